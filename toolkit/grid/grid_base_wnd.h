// CExtGridBaseWnd: the window under every grid. It owns the grid's shape (inner columns
// and rows, the four outer bands around them, their extents), scrolls it by pixels, by
// items or over an unbounded axis, keeps the focus cell and the selection areas and
// answers which cell lies under a point. It knows nothing of cell contents: derived
// grids override the extents and the cell painting.
#pragma once
#include "toolkit/grid/scroll_item_wnd.h"
#include "toolkit/grid/grid_hit_test.h"
#include "toolkit/grid/content_expand_wnd.h"

class CExtPopupMenuTipWnd;

class CExtGridBaseWnd : public CExtScrollItemWnd
{
    DECLARE_DYNCREATE(CExtGridBaseWnd)
public:
    typedef CExtGridHitTestInfo HIT_TEST_INFO;

    enum : DWORD
    {
        GRID_UNIFORM_COLUMNS = 0x200,
        GRID_UNIFORM_ROWS = 0x400,
        GRID_MULTI_ROWS = 0x800,
        GRID_SELECTION_MODE = 0x3000,
        GRID_SELECT_CELLS = 0x1000,
        GRID_SELECT_ROWS = 0x2000,
        GRID_SELECT_COLUMNS = 0x3000,
        GRID_MULTI_COLUMNS = 0x8000,
        // A click in a row (column) header selects the whole row (column); the same bit
        // gives those headers the sort-click cursor that announces it.
        GRID_SELECT_BY_ROW_HEADER = 0x10000,
        GRID_SELECT_BY_COLUMN_HEADER = 0x20000,
        GRID_SORT_CURSOR_LR = GRID_SELECT_BY_ROW_HEADER,
        GRID_SORT_CURSOR_TB = GRID_SELECT_BY_COLUMN_HEADER,
        GRID_RESIZE_COLUMNS_OUTER = 0x40000,
        GRID_RESIZE_ROWS_OUTER = 0x100000,
        GRID_RESIZE_COLUMNS_INNER = 0x200000,
        GRID_RESIZE_ROWS_INNER = 0x400000,
        GRID_FOCUS_FOLLOWS_SELECTION = 0x800000,
        GRID_MULTI_AREAS = 0x1000000,
        GRID_SHOW_SELECTION_UNFOCUSED = 0x2000000,
        GRID_LINES_H = 0x4000000,
        GRID_LINES_V = 0x8000000,
        GRID_DRAG_SELECT = 0x10000000,
        GRID_XOR_SELECTION = 0x20000000,
        GRID_LIVE_RESIZE_COLUMNS = 0x40000000,
        GRID_LIVE_RESIZE_ROWS = 0x80000000,
    };
    // Extended style: hover tracking and the popups of each band.
    enum : DWORD
    {
        GRID_EX_HOVER_INNER = 0x1,
        GRID_EX_HOVER_OUTER = 0x2,
        GRID_EX_HOVER_MASK = 0x3,
        GRID_EX_HIGHLIGHT_MASK = 0xFC,
        GRID_EX_EXPAND_NOW_TOP = 0x10000,
        GRID_EX_EXPAND_NOW_BOTTOM = 0x20000,
        GRID_EX_EXPAND_NOW_LEFT = 0x40000,
        GRID_EX_EXPAND_NOW_RIGHT = 0x80000,
        GRID_EX_EXPAND_DELAY_TOP = 0x100000,
        GRID_EX_EXPAND_DELAY_BOTTOM = 0x200000,
        GRID_EX_EXPAND_DELAY_LEFT = 0x400000,
        GRID_EX_EXPAND_DELAY_RIGHT = 0x800000,
        GRID_EX_EXPAND_NOW_INNER = 0x1000000,
        GRID_EX_EXPAND_DELAY_INNER = 0x2000000,
        GRID_EX_POPUP_MASK = 0x3FF0000,
    };
    enum e_tracking_t
    {
        __EGBWA_TRACKING_NONE = 0,
        __EGBWA_TRACKING_ROWS_BY_HEADER = 1,
        __EGBWA_TRACKING_COLUMNS_BY_HEADER = 2,
        __EGBWA_TRACKING_ROWS = 3,
        __EGBWA_TRACKING_COLUMNS = 4,
        __EGBWA_TRACKING_RANGE_ROWS = 5,
        __EGBWA_TRACKING_RANGE_COLUMNS = 6,
        __EGBWA_TRACKING_RANGE_CELLS = 7,
        __EGBWA_TRACKING_COLUMN_RESIZE = 8,
        __EGBWA_TRACKING_ROW_RESIZE = 9,
        __EGBWA_TRACKING_OUTER_DND = 10,
    };

    CExtGridBaseWnd();
    virtual ~CExtGridBaseWnd();

    // ---- geometry and scrolling -------------------------------------------------
    void GetTotalSize(CSize& size) override;
    RECT* CalcClientRect(RECT* pRect, bool bReposition, const RECT* pRectSrc = NULL) override;
    RECT* GetClientRectEx(RECT* pRect) override;
    void UpdateScrollBars() override;
    DWORD ModifyScrollItemStyle(DWORD dwAdd, DWORD dwRemove = 0, bool bRedraw = true) override;
    void GetItemSize(CSize& size) override;
    void GetPageSizeInItems(CSize& size, int nDirection) override;
    bool IsItemRangeLimitedAtStart(bool bHorz) override;
    bool IsItemRangeLimitedAtEnd(bool bHorz) override;
    int QueryColumnExtent(int nColumn, int* pBefore = NULL, int* pAfter = NULL) override;
    int QueryRowExtent(int nRow, int* pBefore = NULL, int* pAfter = NULL) override;

    virtual HIT_TEST_INFO& HitTest(HIT_TEST_INFO& hti, bool bAdjustEdges = false,
                                   bool bDropFirstEdges = false, bool bTestFarHalf = false);

    virtual int GetLeftOuterColumnCount() const;
    virtual int GetRightOuterColumnCount() const;
    virtual int SetLeftOuterColumnCount(int nCount, bool bRedraw = true);
    virtual int SetRightOuterColumnCount(int nCount, bool bRedraw = true);
    virtual int GetTopOuterRowCount() const;
    virtual int GetBottomOuterRowCount() const;
    virtual int SetTopOuterRowCount(int nCount, bool bRedraw = true);
    virtual int SetBottomOuterRowCount(int nCount, bool bRedraw = true);
    // Extents of outer columns and rows, by index inside their band.
    virtual int ColumnExtentGet(bool bLeftBand, int nColNo, bool bZeroWithoutRows = false);
    virtual int RowExtentGet(bool bTopBand, int nRowNo, bool bZeroWithoutColumns = false);
    virtual void ColumnExtentSet(bool bLeftBand, int nColNo, int nExtent);
    virtual void RowExtentSet(bool bTopBand, int nRowNo, int nExtent);

    virtual int GetColumnCount() const;
    virtual int SetColumnCount(int nCount, bool bRedraw = true);
    virtual bool InsertColumns(int nPos, int nCount, bool bRedraw = true);
    virtual int RemoveColumns(int nPos, int nCount = 1, bool bRedraw = true);
    virtual int GetRowCount() const;
    virtual int SetRowCount(int nCount, bool bRedraw = true);
    virtual bool InsertRows(int nPos, int nCount, bool bRedraw = true);
    virtual int RemoveRows(int nPos, int nCount = 1, bool bRedraw = true);

    virtual int GetDefaultColumnExtent() const;
    virtual int SetDefaultColumnExtent(int nExtent, bool bRedraw = true);
    virtual int GetDefaultRowExtent() const;
    virtual int SetDefaultRowExtent(int nExtent, bool bRedraw = true);

    virtual bool EnsureColumnVisible(int nColumn, bool bRedraw = true);
    virtual bool EnsureRowVisible(int nRow, bool bRedraw = true);
    virtual bool GetCellRects(int nColumn, int nRow, int nColType = 0, int nRowType = 0,
                              RECT* pRectExtent = NULL, RECT* pRectCell = NULL,
                              int* pnVisibleColumn = NULL, int* pnVisibleRow = NULL);
    virtual void GetVisibleColumnRange(int& nFirst, int& nLast, int& nOffset);
    virtual void GetVisibleRowRange(int& nFirst, int& nLast, int& nOffset);
    virtual void GetResizeMargins(RECT& rc) const;
    virtual int GetColumnOffset(int nColumn);
    virtual int GetRowOffset(int nRow);
    virtual bool GetColumnResizeRange(int nColumn, int& nMin, int& nMax);
    virtual bool GetRowResizeRange(int nRow, int& nMin, int& nMax);
    static void ClampExtent(int& nValue, int nMin, int nMax);
    // A cursor of the application's module, whatever resource module is current.
    static HCURSOR LoadAppCursor(UINT nId);
    // May narrow a cell's rectangle (the tree grid's indent).
    virtual void OnQueryCellIndent(int nColumn, int nRow, int nColType, int nRowType,
                                   RECT& rcExtent, RECT& rcCell);
    virtual bool IsWalkColumnSkipped(int nColumn, DWORD dwAreaFlags);
    virtual bool IsWalkRowSkipped(int nRow, DWORD dwAreaFlags);
    virtual POINT ClipVirtualCell(const POINT& ptCell);

    // ---- selection and focus ----------------------------------------------------
    virtual bool IsSelectionEnabled() const;
    int GetSelectionMode() const { return (int)(GetScrollItemStyle() & GRID_SELECTION_MODE); }
    virtual int SelectionGetHitCount(int nColumn, int nRow);
    virtual bool OnQuerySelected(int nColumn, int nRow);
    virtual bool IsSelected(int nColumn, int nRow);
    virtual int SelectionGetAreaCount() const;
    virtual RECT SelectionGet(bool bNormalize, int nAreaNumber);
    virtual void SelectionGetArea(RECT& rc, bool bNormalized, int nAreaNumber);
    virtual bool SelectionRemoveArea(int nAreaNumber, bool bRedraw = true);
    virtual bool SelectionSetArea(int nAreaNumber, const RECT& rc, bool bRedraw = true);
    virtual bool SelectionInsertArea(int nAreaNumber, const RECT& rc, bool bRedraw = true);
    virtual bool SelectionSet(const RECT& rc, bool bReset = true, bool bReplaceLast = false,
                              bool bRedraw = true);
    virtual bool SelectionUnset(bool bSelectFocus = false, bool bRedraw = true);
    virtual void SelectionAddArea(const RECT& rc);
    virtual int SelectionGetNext(bool bAlongColumns, bool bForward, int nColumn, int nRow);
    int SelectionGetNextRow(int nColumn, int nRow) { return SelectionGetNext(false, true, nColumn, nRow); }
    int SelectionGetFirstRow(int nColumn) { return SelectionGetNext(false, true, nColumn, -1); }
    bool IsSelectionEmpty() const { return m_arrSelection.GetSize() == 0; }
    virtual POINT FocusGet() const;
    // Moves the focus to ptNew and returns the focus it had; a veto of OnFocusChanging
    // changes nothing and sets *pbVetoed.
    virtual POINT FocusSet(const POINT& ptNew, bool bEnsureColumnVisible = true,
                           bool bEnsureRowVisible = true, bool bSelect = true,
                           bool bRedraw = true, bool* pbVetoed = NULL);
    virtual POINT FocusUnset(bool bRedraw = true);
    // Selects a cell as the selection mode says: the cell, its row or its column.
    virtual bool SelectFocusCell(const POINT& ptCell, bool bReplace, bool bRedraw);
    virtual void SelectionSplit(bool bSplitColumns, bool bSplitRows);
    virtual bool OnSelectionChanging();
    virtual void OnSelectionChanged();
    virtual bool OnFocusChanging(const POINT& ptOld, const POINT& ptNew, bool& bEnsureColumnVisible,
                                 bool& bEnsureRowVisible, bool& bSelect, bool& bRedraw);
    virtual void OnFocusChanged(const POINT& ptOld, const POINT& ptNew);
    virtual void NormalizeSelectionRect(RECT& rc);
    virtual POINT AdjustFocusOnUnboundedAxis(const POINT& ptFocus);
    // After a size change or a scroll: keeps the focus on an unbounded axis inside the
    // shown range.
    void CheckFocusOnUnboundedAxes(bool bRedraw);

    // ---- painting and the cell walk ------------------------------------------------
    enum : DWORD
    {
        PAINT_HOVER_COLUMN = 1,
        PAINT_HOVER_ROW = 2,
        PAINT_SELECTED_COLUMN = 4,
        PAINT_SELECTED_ROW = 8,
        PAINT_FOCUS_COLUMN = 16,
        PAINT_FOCUS_ROW = 32,
        PAINT_FOCUSED_WINDOW = 64,
        PAINT_PRESSED_H = 0x80,
        PAINT_PRESSED_V = 0x100,
        EDIT_NO_ENSURE_VISIBLE = 0x1,
    };
    void OnPaintItems(CDC& dc, bool bFocused) override;
    // Paints the visible cells, or with a record finds the cell under its point; true
    // when the record was filled.
    virtual bool OnPaintCells(CDC* pDC, bool bFocused, HIT_TEST_INFO* pHTI);
    virtual bool OnWalkCell(CDC* pDC, HIT_TEST_INFO* pHTI, int nVisibleColumn, int nVisibleRow, int nColumn,
                            int nRow, const RECT& rcExtent, const RECT& rcCell, LPARAM lReserved,
                            bool& bStopColumns, bool& bStopRows, DWORD dwAreaFlags, bool bFocused);
    virtual void OnPaintCell(CDC& dc, int nVisibleColumn, int nVisibleRow, int nColumn, int nRow,
                             const RECT& rcExtent, const RECT& rcCell, LPARAM lReserved, DWORD dwAreaFlags,
                             DWORD dwPaintFlags);
    virtual COLORREF OnQueryCellBackColor(int nColumn, int nRow, int nVisibleColumn, int nVisibleRow,
                                          const RECT& rcExtent, const RECT& rcCell, DWORD dwAreaFlags,
                                          DWORD dwPaintFlags);
    virtual bool OnQueryGridLines(bool bHorizontal, int nColumn, int nRow, DWORD dwAreaFlags);
    virtual void OnWalkAreaStart(DWORD dwAreaFlags, CDC* pDC, const RECT& rcBand);
    virtual void OnWalkAreaEnd(DWORD dwAreaFlags, CDC* pDC, const RECT& rcBand);
    virtual void OnPaintOuterAreaBackground(CDC& dc, const RECT& rc, DWORD dwAreaFlags);
    virtual void ResetExtents(bool bLeftColumns, bool bRightColumns, bool bTopRows, bool bBottomRows);
    virtual bool EditCell(int nColumn = -1, int nRow = -1, int nColType = 0, int nRowType = 0, DWORD dwFlags = 0);
    virtual bool OnCellEditStart(int nColumn, int nRow, int nColType, int nRowType, DWORD dwFlags,
                                 const RECT& rcExtent, const RECT& rcCell, const RECT& rcThird);
    // The highlight fills: -3..-1 for band cells, 1..3 for data cells (hover, selection,
    // focus), worked out from the current colours at each paint.
    virtual COLORREF GetBrushColor(int nIndex);

    // ---- tips, the popup and scrolling -------------------------------------------------
    bool OnInitializeWindow() override;
    // The popup menus' shared tip window when the grid uses it, else NULL.
    virtual CExtPopupMenuTipWnd* GetSharedTipWnd();
    // The tip style the grid's cells give the shared tip window.
    int GetTipMode() const { return m_nTipMode; }
    BOOL PreTranslateMessage(MSG* pMsg) override;
    bool OnScrollBy(CSize sizeScroll, bool bDoScroll = true) override;
    bool DoMouseWheel(UINT nFlags, short zDelta, POINT pt) override;
    CToolTipCtrl m_wndToolTip;
    CExtContentExpandWnd m_wndContentExpand;
    // While the bars follow a scroll: 2 a virtual horizontal axis, 4 a virtual vertical one.
    BYTE m_nVirtualScrollMarks;

    // ---- mouse tracking, hover and popups ---------------------------------------------
    virtual bool IsHoverSuppressed();
    // Ends the hover: timers, tips, the popup and the hover highlight go.
    virtual void OnCancelTracking(bool bReleaseCapture = true);
    // Works out what the mouse is over (the cursor when pPoint is NULL); false when the
    // hover is suppressed.
    virtual bool OnHoverUpdate(const POINT* pPoint = NULL);
    // The hover moved from htiOld to htiNew: called once to leave (bLeave, which also
    // hides the popups) and once to enter (bEnter).
    virtual void OnHoverChanged(const HIT_TEST_INFO& htiOld, const HIT_TEST_INFO& htiNew, bool bEnter,
                                bool bLeave);
    // nButton 1 left, 2 right, 4 middle; nEvent 1 press, 2 double click, 3 release;
    // true when handled.
    virtual bool OnMouseClick(int nButton, int nEvent, UINT nFlags, CPoint point);
    virtual bool OnSysKey(bool bDown, UINT nChar, UINT nRepCnt, UINT nFlags);
    virtual bool OnKey(bool bDown, UINT nChar, UINT nRepCnt, UINT nFlags);
    virtual void OnResizeTrack(bool bStart, bool bFinish, const POINT* pPoint = NULL);
    virtual void OnResizeApply(bool bColumn, int nIndex, int nExtent);
    virtual void InvalidateHover(const HIT_TEST_INFO& hti);
    virtual void ShowSharedTip(CExtPopupMenuTipWnd* pTipWnd, const RECT& rcExclude);
    virtual bool OnContentExpandShow(HIT_TEST_INFO& hti);
    virtual bool OnPopupDelayStart(HIT_TEST_INFO& hti, UINT nDelay);
    virtual bool OnPaintItemContent(CExtContentExpandWnd::ITEM_PAINT_INFO& _pici);
    virtual bool IsCellDragEnabled();
    virtual void GetDragThreshold(CSize& size);
    virtual bool OnCellPressedForDrag(HIT_TEST_INFO& hti);
    virtual void OnOuterCellDragStart(const HIT_TEST_INFO& hti);
    // The in-place editor's window while a cell is edited; the base edits nothing.
    virtual HWND GetSafeInplaceActiveHwnd();
    // The outer cell being pressed or dragged; empty while nothing is pressed.
    HIT_TEST_INFO& GetTrackedOuterCellHitTest() { return m_htiOuterPressed; }
    HIT_TEST_INFO& GetHoverHitTest() { return m_htiHover; }
    HIT_TEST_INFO& GetPopupHitTest() { return m_htiExpanded; }
    int GetTrackingMode() const { return m_nTrackingMode; }
    // Hides the tip (shared or own) and the content-expand popup.
    void HidePopups(bool bTip, bool bContentExpand);

    // ---- keyboard -----------------------------------------------------------------
    // Navigates the focus and the selection; false leaves the key to default processing.
    virtual bool OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    // Hook: a derived grid starts editing on Enter and F2.
    virtual bool OnEditKey(UINT nChar);
    // True when an item of an unbounded axis lies past the items that exist.
    virtual bool IsItemBeyondRange(bool bColumns, int nIndex, DWORD dwAreaFlags);
    // Refreshes the hover for the cursor's place after scrolling, drags and keys.
    void UpdateHover() { OnHoverUpdate(NULL); }

    // ---- cursor -----------------------------------------------------------------
    virtual bool OnSetCursor(const HIT_TEST_INFO& hti);
    virtual bool IsColumnResizable(int nColumn, int nColType);
    virtual bool IsRowResizable(int nRow, int nRowType);

    // ---- fields -----------------------------------------------------------------
    int m_nMouseActivateResult;
    int m_nScrollTypeRememberedH;
    int m_nScrollTypeRememberedV;
    int m_nMarginLeft, m_nMarginTop, m_nMarginRight, m_nMarginBottom;
    HCURSOR m_hCursorDefault;
    HCURSOR m_hCursorResizeColumn;
    HCURSOR m_hCursorResizeRow;
    HCURSOR m_hCursorSortClick[4];  // top, bottom, left, right band
    HCURSOR m_hCursorInner;
    HCURSOR m_hCursorCheckBox;
    HCURSOR m_hCursorButton[4];  // by button type
    HCURSOR m_hCursorFocusArrow;
    HCURSOR m_hCursorSortArrow;
    HCURSOR m_hCursorIcon;
    int m_nTrackingMode;

protected:
    int m_nCountRows;
    int m_nCountColumns;
    int m_nCountOuterTop;
    int m_nCountOuterLeft;
    int m_nCountOuterBottom;
    int m_nCountOuterRight;
    int m_nExtentColumnDefault;
    int m_nExtentRowDefault;
    RECT m_rcOuterTop, m_rcOuterBottom, m_rcOuterLeft, m_rcOuterRight;
    RECT m_rcOuterTopLeft, m_rcOuterTopRight, m_rcOuterBottomLeft, m_rcOuterBottomRight;
    RECT m_rcClientCached;
    POINT m_ptFocus;
    CArray<RECT, const RECT&> m_arrSelection;
    HIT_TEST_INFO m_htiHover, m_htiTracking, m_htiExpanded, m_htiOuterPressed, m_htiDragPress;
    UINT m_nTimerIds[4];
    CMap<int, int, int, int> m_mapExtentsLeft, m_mapExtentsRight, m_mapExtentsTop, m_mapExtentsBottom;
    DWORD m_dwContentExpandFlags;
    int m_nTipMode;
    // Mouse tracking: distance from the press to the far edge of the resized cell, the
    // re-entry guard of the cancel handler, the resize range, the extent shown and the
    // extent the cell had when the press started, and where the tracker line is drawn
    // (-1 none).
    SIZE m_sizeTrackingOffset;
    bool m_bCancelRunning;
    int m_nResizeMin, m_nResizeMax, m_nTrackedExtent, m_nTrackedExtentStart, m_nTrackerLine;

    void PreSubclassWindow() override;
    void PostNcDestroy() override;
    // Sum of the outer extents of one band.
    int OuterBandExtent(bool bColumns, bool bNear);
    // The inner area and the bands, split from the client rectangle R.
    void SplitBands(RECT& rc);
    int InnerExtent(bool bColumns, int nIndex, int* pBefore, int* pAfter);
    int ItemCount(bool bColumns) const { return bColumns ? m_nCountColumns : m_nCountRows; }
    int ScrollType(bool bColumns) const { return bColumns ? GetScrollTypeH() : GetScrollTypeV(); }
    void GetVisibleRangeOfAxis(bool bColumns, int& nFirst, int& nLast, int& nOffset);
    bool EnsureVisible(bool bColumns, int nIndex, bool bRedraw);
    bool InsertItems(bool bColumns, int nPos, int nCount, bool bRedraw);
    int RemoveItems(bool bColumns, int nPos, int nCount, bool bRedraw);
    int SetItemCount(bool bColumns, int nCount, bool bRedraw);
    int ItemOffset(bool bColumns, int nIndex);
    // One axis of a cell's rectangles; false when the index is not shown.
    bool CellSpan(bool bColumns, int nIndex, int nType, LONG& nStart, LONG& nEnd, LONG& nCellStart,
                  LONG& nCellEnd, int* pnVisible);
    void AddEdgeBits(HIT_TEST_INFO& hti);
    void UpdateClientFromSize(bool bRedraw);
    HCURSOR SortClickCursor(int nBand);
    bool HoldsCell(const RECT& rcArea, int nColumn, int nRow) const;

    enum e_modifiers_t { KEYMOD_NONE, KEYMOD_CTRL, KEYMOD_SHIFT, KEYMOD_CTRL_SHIFT, KEYMOD_OTHER };
    static int ReadModifiers();
    void ScrollByKey(bool bVert, UINT nCode);
    bool NavigateKey(UINT nChar, UINT nRepCnt, int nMods);
    // The new index of a move along one axis; false when the key has done its work.
    bool MoveByArrow(bool bColumns, bool bForward, int nIndex, UINT nRepCnt, int& nNew);
    bool MoveToEnd(bool bColumns, bool bEnd, int& nNew);
    bool MoveByPage(bool bDown, int nMods, int nRow, int& nNew);
    void FullyVisibleRows(int& nFirst, int& nLast);
    void ApplyMove(UINT nChar, bool bColumns, int nNew, int nMods, const RECT& rcRef, bool bFocusValid);

    struct WALK_CONTEXT
    {
        CDC* pDC;
        HIT_TEST_INFO* pHTI;
        bool bFocused;
        RECT rcClip;
    };
    bool AreaTouched(const WALK_CONTEXT& ctx, const RECT& rc) const;
    bool IsRowMajorWalk() const;
    bool WalkDataArea(WALK_CONTEXT& ctx, const RECT& rcArea);
    bool WalkBands(WALK_CONTEXT& ctx);
    bool WalkBandCells(WALK_CONTEXT& ctx, bool bAlongColumns, const RECT& rcBand, int nFixed, int nVisibleFixed,
                       DWORD dwAreaFlags, int nOuterBand, bool& bStop);
    DWORD CellPaintFlags(int nColumn, int nRow, DWORD dwAreaFlags);
    void PaintCorners(WALK_CONTEXT& ctx);
    void FillHighlight(CDC& dc, const RECT& rc, DWORD dwPaintFlags, bool bOuter);
    void PaintFocusFrame(CDC& dc, int nColumn, int nRow, const RECT& rc);

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    afx_msg LRESULT OnKeyDownMsg(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnCancelModeMsg(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnSetCursorMsg(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnCaptureChangedMsg(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnKillFocusMsg(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnSetFocusMsg(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnShowWindowMsg(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnActivateAppMsg(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnMouseActivateMsg(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnGetDlgCodeMsg(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnMouseMoveMsg(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnLButtonDownMsg(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnLButtonUpMsg(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnLButtonDblClkMsg(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnOtherButtonMsg(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnSysKeyMsg(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnKeyUpMsg(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnTimerMsg(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnPaintItemContentMsg(WPARAM wParam, LPARAM lParam);
    // Steps of the left press and of a drag that extends the selection.
    bool StartResizeAt(const HIT_TEST_INFO& hti);
    void SelectByHeaderPress(const HIT_TEST_INFO& hti, bool bRows, bool bShift, bool bReplace);
    void SelectByDataPress(const HIT_TEST_INFO& hti, bool bCtrl, bool bShift, bool bReplace);
    void ExtendSelectionTo(int nColumn, int nRow, bool bColumns, bool bRows);
    void DrawTrackerLine(int nPos);
    int TrackerLineAt(int nExtent) const;
    bool IsCursorOverOwnWindows(POINT ptScreen);
    bool SharesParentWithActive();
    void ApplyPressAsClick(const POINT& pt);
    afx_msg LRESULT OnWindowPosChangedMsg(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnGridSizeMsg(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()
};
