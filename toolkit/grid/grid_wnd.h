// CExtGridWnd: the grid window that takes its cells from a data provider. The base
// window knows the shape of the grid; this window answers it from the provider's cells
// (how many columns and rows, how wide a column is by its header cell, which cell to
// paint, hit-test, edit), hands every per-cell decision to the cell, and gives the
// header (outer) cells their mouse behaviour: sorting by a click, the pressed look,
// dragging a header to move or remove its column or row, best fit by a double click on
// a header edge and the proportional fitting of extents to the client area. It follows
// the provider's swaps and moves with its focus and selection.
//
// Files: grid_wnd.cpp (construction, provider, counts, cells, extents, fitting),
// grid_wnd_mouse.cpp (hit test, cursor, hover, clicks, tips, best fit),
// grid_wnd_paint.cpp (cell painting and the colour and font hooks),
// grid_wnd_edit.cpp (in-place editing and the provider events),
// grid_wnd_track.cpp (sorting, header press and drag, cell-button tracking).
#pragma once
#include "toolkit/grid/grid_base_wnd.h"
#include "toolkit/grid/grid_cell.h"
#include "toolkit/grid/grid_data_provider.h"
#include "toolkit/grid/grid_sort_order.h"

class CExtGridWnd : public CExtGridBaseWnd, public CExtGridDataProvider::IDataProviderEvents
{
    DECLARE_DYNCREATE(CExtGridWnd)
public:
    // Behaviour style (GetBehaviorStyle).
    enum e_behavior_style_t : DWORD
    {
        __EGBS_EDIT_OUTER_TOP = 0x1,
        __EGBS_EDIT_OUTER_BOTTOM = 0x2,
        __EGBS_EDIT_OUTER_LEFT = 0x4,
        __EGBS_EDIT_OUTER_RIGHT = 0x8,
        __EGBS_EDIT_INNER = 0x10,
        __EGBS_BUTTONS_PERSISTENT = 0x80,
        __EGBS_BUTTONS_FOCUSED_CELL = 0x100,
        __EGBS_BUTTONS_FOCUSED_ROW = 0x200,
        __EGBS_BUTTONS_FOCUSED_COLUMN = 0x400,
        __EGBS_BUTTONS_HOVER_CELL = 0x800,
        __EGBS_BUTTONS_HOVER_ROW = 0x1000,
        __EGBS_BUTTONS_HOVER_COLUMN = 0x2000,
        __EGBS_BUTTONS_SELECTED_CELLS = 0x4000,
        __EGBS_BUTTONS_SELECTED_ROWS = 0x8000,
        __EGBS_BUTTONS_SELECTED_COLUMNS = 0x10000,
        __EGBS_EDIT_ON_CLICK = 0x20000,
        __EGBS_EDIT_ON_CLICK_FOCUS_ONLY = 0x40000,
        __EGBS_EDIT_ON_DBLCLICK = 0x80000,
        __EGBS_EDIT_ON_KEY = 0x100000,
        __EGBS_SORT_MULTI_COLUMNS = 0x200000,
        __EGBS_SORT_MULTI_ROWS = 0x400000,
        __EGBS_SORT_BY_TOP = 0x800000,
        __EGBS_SORT_BY_BOTTOM = 0x1000000,
        __EGBS_SORT_BY_LEFT = 0x2000000,
        __EGBS_SORT_BY_RIGHT = 0x4000000,
        __EGBS_DEFAULT = 0x1E0090,
    };
    // Extended grid style (GetGridStyleEx).
    enum e_grid_style_ex_t : DWORD
    {
        __EGSE_PRESSED_INNER_COLUMN = 0x1,
        __EGSE_PRESSED_OUTER_COLUMN = 0x2,
        __EGSE_PRESSED_INNER_ROW = 0x4,
        __EGSE_PRESSED_OUTER_ROW = 0x8,
        __EGSE_PRESSED_ANY = 0xF,
        __EGSE_KEEP_PRESS_TB = 0x10,
        __EGSE_KEEP_PRESS_LR = 0x20,
        __EGSE_SELECT_COLUMNS_BY_HEADER = 0x40,
        __EGSE_SELECT_ROWS_BY_HEADER = 0x100,
        __EGSE_DRAG_REMOVE_COLUMNS = 0x400,
        __EGSE_DRAG_REMOVE_ROWS = 0x800,
        __EGSE_PROPORTIONAL_COLUMNS = 0x1000,
        __EGSE_PROPORTIONAL_ROWS = 0x2000,
        __EGSE_BEST_FIT_COLUMNS_OUTER = 0x4000,
        __EGSE_BEST_FIT_COLUMNS_INNER = 0x8000,
        __EGSE_BEST_FIT_ROWS_OUTER = 0x10000,
        __EGSE_BEST_FIT_ROWS_INNER = 0x20000,
        __EGSE_BEST_FIT_ANY = 0x3C000,
        __EGSE_BEST_FIT_COLUMN_VISIBLE_ONLY = 0x40000,
        __EGSE_BEST_FIT_ROW_VISIBLE_ONLY = 0x80000,
        __EGSE_BEST_FIT_COLUMN_OUTER_CELLS = 0x100000,
        __EGSE_BEST_FIT_COLUMN_INNER_CELLS = 0x200000,
        __EGSE_BEST_FIT_ROW_OUTER_CELLS = 0x400000,
        __EGSE_BEST_FIT_ROW_INNER_CELLS = 0x800000,
    };
    // Paint flag of a cell painted as the image of a dragged header.
    enum : DWORD { PAINT_DRAG_IMAGE = 0x200 };
    // Flags of OnCellEditStart besides the base's EDIT_NO_ENSURE_VISIBLE: run the edit
    // modally inside the call, and close an editor that is still open.
    enum : DWORD { EDIT_MODAL = 0x2, EDIT_REPLACE_OPEN = 0x4 };
    // The scroll-item extended-style bit of a grid whose counts are the provider's own
    // and that refuses to insert or remove through the window.
    enum : DWORD { __EGSE_EXTERNAL_DATA = 0x10000000 };

    CExtGridWnd();
    virtual ~CExtGridWnd();

    // ---- styles ---------------------------------------------------------------------
    virtual DWORD GetBehaviorStyle() const;
    virtual DWORD ModifyBehaviorStyle(DWORD dwAdd, DWORD dwRemove = 0, bool bRedraw = true);
    virtual DWORD GetGridStyleEx() const;
    virtual DWORD ModifyGridStyleEx(DWORD dwAdd, DWORD dwRemove = 0, bool bRedraw = true);

    // ---- provider, counts and cells ----------------------------------------------------
    // The provider; a memory provider is made on the first call. Everything else reaches
    // the provider through this, so a derived grid may supply another one.
    virtual CExtGridDataProvider* GetDataProvider();
    int GetColumnCount() const override;
    int GetRowCount() const override;
    int SetLeftOuterColumnCount(int nCount, bool bRedraw = true) override;
    int SetRightOuterColumnCount(int nCount, bool bRedraw = true) override;
    int SetTopOuterRowCount(int nCount, bool bRedraw = true) override;
    int SetBottomOuterRowCount(int nCount, bool bRedraw = true) override;
    bool InsertColumns(int nPos, int nCount, bool bRedraw = true) override;
    bool InsertRows(int nPos, int nCount, bool bRedraw = true) override;
    // The number of inner columns (rows) removed: 0 when refused.
    int RemoveColumns(int nPos, int nCount = 1, bool bRedraw = true) override;
    int RemoveRows(int nPos, int nCount = 1, bool bRedraw = true) override;
    virtual CExtGridCell* GridCellGet(LONG nColNo, LONG nRowNo, INT nColType = 0, INT nRowType = 0,
                                      CRuntimeClass* pInitRTC = NULL, bool bAutoFindValue = true,
                                      bool bUseColumnDefaultValue = true);
    virtual bool GridCellSet(LONG nColNo, LONG nRowNo, const CExtGridCell* pCell = NULL, LONG nColCount = 1,
                             LONG nRowCount = 1, INT nColType = 0, INT nRowType = 0, bool bRedraw = true);
    // The cell of a hit-test record, NULL for an empty record.
    CExtGridCell* GetCell(const HIT_TEST_INFO& hti);
    // The header cell of a column in the top band (row 0), created with pInitRTC when
    // missing.
    CExtGridCell* GetOuterCellAtTop(LONG nColNo, CRuntimeClass* pInitRTC = NULL);
    // The provider's icons, as the cells refer to them.
    LONG GridIconGetCount();
    CExtCmdIcon* GridIconGetAt(LONG nPos);

    // ---- geometry --------------------------------------------------------------------
    RECT* CalcClientRect(RECT* pRect, bool bReposition, const RECT* pRectSrc = NULL) override;
    bool IsItemRangeLimitedAtEnd(bool bHorz) override;
    int QueryColumnExtent(int nColumn, int* pBefore = NULL, int* pAfter = NULL) override;
    int QueryRowExtent(int nRow, int* pBefore = NULL, int* pAfter = NULL) override;
    bool IsWalkColumnSkipped(int nColumn, DWORD dwAreaFlags) override;
    bool IsWalkRowSkipped(int nRow, DWORD dwAreaFlags) override;
    // Tells the provider which columns and rows are about to be shown; its refusal
    // refuses the scroll.
    bool OnVisibleRangeChanging(const SCROLL_POSITION_INFO& next, const SCROLL_POSITION_INFO& last) override;
    bool GetColumnResizeRange(int nColumn, int& nMin, int& nMax) override;
    bool GetRowResizeRange(int nRow, int& nMin, int& nMax) override;
    // Stores an extent the user tracked in the header cell and fits the rest.
    void OnResizeApply(bool bColumns, int nIndex, int nExtent) override;
    // Fits the inner columns (rows) to nAvailable pixels; items 0..nKeepThrough keep
    // their extents.
    virtual void AdjustProportionalExtents(int nAvailable, bool bColumns, int nKeepThrough);
    virtual bool IsBestFitAllowedAt(bool bColumns, const HIT_TEST_INFO& hti);
    virtual bool BestFitColumn(LONG nColNo, INT nColType = 0, bool bOuter = true, bool bInner = true,
                               bool bVisibleOnly = false, bool bRedraw = true);
    virtual bool BestFitRow(LONG nRowNo, INT nRowType = 0, bool bOuter = true, bool bInner = true,
                            bool bVisibleOnly = false, bool bRedraw = true);
    // The rectangles of a cell: its extra and content rectangles and, with pLayout, those
    // of its parts by the cell's own layout; false when the cell is not shown.
    virtual bool GetCellPartRects(LONG nColNo, LONG nRowNo, INT nColType, INT nRowType, RECT* pRectExtra,
                                  RECT* pRectCell, CExtGridCell::CELL_LAYOUT* pLayout = NULL);
    virtual CSize GetGridMargins() const;

    // ---- hit test, cursor, hover and clicks --------------------------------------------------
    HIT_TEST_INFO& HitTest(HIT_TEST_INFO& hti, bool bAdjustEdges = false, bool bDropFirstEdges = false,
                           bool bTestFarHalf = false) override;
    bool OnSetCursor(const HIT_TEST_INFO& hti) override;
    // The hover moved: the cells left and entered hear of it.
    void OnHoverChanged(const HIT_TEST_INFO& htiOld, const HIT_TEST_INFO& htiNew, bool bEnter,
                        bool bLeave) override;
    // nButton 1 left, 2 right, 4 middle; nEvent 1 press, 2 double click, 3 release.
    bool OnMouseClick(int nButton, int nEvent, UINT nFlags, CPoint point) override;
    bool OnSysKey(bool bDown, UINT nChar, UINT nRepCnt, UINT nFlags) override;
    bool OnKey(bool bDown, UINT nChar, UINT nRepCnt, UINT nFlags) override;
    // A tip for the hovered cell; false when it has none.
    virtual bool ShowCellTip(const HIT_TEST_INFO& hti);
    // With a delay the popup waits for the base's timer; without one the cell shows
    // its expanded content.
    virtual bool ShowContentExpand(const HIT_TEST_INFO& hti, UINT nDelay);
    bool OnPopupDelayStart(HIT_TEST_INFO& hti, UINT nDelay) override;
    bool OnContentExpandShow(HIT_TEST_INFO& hti) override;
    bool OnPaintItemContent(CExtContentExpandWnd::ITEM_PAINT_INFO& _pi) override;
    HWND GetSafeInplaceActiveHwnd() override;
    bool OnEditKey(UINT nChar) override;

    // ---- painting --------------------------------------------------------------------
    void OnPaintCell(CDC& dc, int nVisibleColumn, int nVisibleRow, int nColumn, int nRow, const RECT& rcExtent,
                     const RECT& rcCell, LPARAM lReserved, DWORD dwAreaFlags, DWORD dwPaintFlags) override;
    COLORREF OnQueryCellBackColor(int nColumn, int nRow, int nVisibleColumn, int nVisibleRow,
                                  const RECT& rcExtent, const RECT& rcCell, DWORD dwAreaFlags,
                                  DWORD dwPaintFlags) override;
    void OnPaintManagerInstalled(CExtPaintManager* pPM) override;
    // The text colour a cell paints with, when it names one (false and clrText unchanged
    // otherwise); *pbDisabled receives whether the cell is disabled.
    virtual bool OnQueryCellTextColor(LONG nColNo, LONG nRowNo, INT nColType, INT nRowType, COLORREF& clrText,
                                      bool* pbDisabled = NULL);

    // ---- hooks the cells call (the base answers "not handled") -----------------------------
    virtual bool OnGridHookCellPaintBackground(const CExtGridCell& cell, CDC& dc, LONG nVisibleColNo,
                                               LONG nVisibleRowNo, LONG nColNo, LONG nRowNo, INT nColType,
                                               INT nRowType, const RECT& rcCellExtra, const RECT& rcCell,
                                               const RECT& rcVisibleRange, DWORD dwAreaFlags,
                                               DWORD dwHelperPaintFlags);
    virtual bool OnGridHookCellPaintForeground(const CExtGridCell& cell, CDC& dc, LONG nVisibleColNo,
                                               LONG nVisibleRowNo, LONG nColNo, LONG nRowNo, INT nColType,
                                               INT nRowType, const RECT& rcCellExtra, const RECT& rcCell,
                                               const RECT& rcVisibleRange, DWORD dwAreaFlags,
                                               DWORD dwHelperPaintFlags);
    virtual bool OnGridHookCellPaintText(bool bPostPaint, const CExtGridCell& cell, CDC& dc, LONG nVisibleColNo,
                                         LONG nVisibleRowNo, LONG nColNo, LONG nRowNo, INT nColType, INT nRowType,
                                         const RECT& rcCellExtra, const RECT& rcCell, const RECT& rcCellText,
                                         DWORD dwAreaFlags, DWORD dwHelperPaintFlags);
    // Text (bText) or background colour of a cell; -1 for none.
    virtual COLORREF OnGridHookCellColor(bool bText, const CExtGridCell& cell, CDC& dc, LONG nVisibleColNo,
                                         LONG nVisibleRowNo, LONG nColNo, LONG nRowNo, INT nColType, INT nRowType,
                                         DWORD dwAreaFlags, DWORD dwHelperPaintFlags);
    // A font for the cell, or NULL; *pbDelete tells the caller to delete it.
    virtual HFONT OnGridCellQueryFont(const CExtGridCell& cell, LONG nColNo, LONG nRowNo, INT nColType,
                                      INT nRowType, bool* pbDelete);
    virtual bool OnGridCellQueryTipText(const CExtGridCell& cell, const HIT_TEST_INFO& hti, CString& strTipText);
    virtual bool OnGridCellButtonPressing(CExtGridCell* pCell, INT nButtonType, bool bMouseInsideButton,
                                          ULONG nPressedTimerCounter, const RECT& rcButton,
                                          const RECT& rcCellExtra, const RECT& rcCell, LONG nColNo, LONG nRowNo,
                                          INT nColType, INT nRowType);
    virtual bool OnGridCellButtonPressed(CExtGridCell* pCell, INT nButtonType, const RECT& rcCellExtra,
                                         const RECT& rcCell, LONG nVisibleColNo, LONG nVisibleRowNo,
                                         LONG nColNo, LONG nRowNo, INT nColType, INT nRowType);
    virtual HWND OnGridCellInplaceControlCreate(CExtGridCell* pCell, LONG nVisibleColNo, LONG nVisibleRowNo,
                                                LONG nColNo, LONG nRowNo, INT nColType, INT nRowType,
                                                const RECT& rcCellExtra, const RECT& rcCell,
                                                const RECT& rcInplaceControl, LONG nLastEditedColNo,
                                                LONG nLastEditedRowNo);
    // A message of the cell's in-place editor; true when the grid handled it.
    virtual bool OnGridCellInplaceControlMessage(CExtGridCell* pCell, HWND hWndInplaceControl, UINT nMessage,
                                                 WPARAM wParam, LPARAM lParam, LRESULT& lResult,
                                                 LONG nColNo, LONG nRowNo, INT nColType, INT nRowType);
    // Verify hooks of the editors; true accepts the input at once.
    virtual bool OnGridCellInplaceControlTextInputVerify(CExtGridCell* pCell, HWND hWndInplaceControl,
                                                         LONG nColNo, LONG nRowNo, INT nColType, INT nRowType,
                                                         LPCTSTR sTextInitial, LPCTSTR sTextPrevious,
                                                         CString& sTextNew, bool bEndEdit);
    virtual bool OnGridCellInplaceControlDateTimeInputVerify(CExtGridCell* pCell, HWND hWndInplaceControl,
                                                             LONG nColNo, LONG nRowNo, INT nColType,
                                                             INT nRowType, const COleDateTime& dtValue,
                                                             bool bEndEdit);
    virtual bool OnGridCellInplaceControlPositionInputVerify(CExtGridCell* pCell, HWND hWndInplaceControl,
                                                             LONG nColNo, LONG nRowNo, INT nColType,
                                                             INT nRowType, int nPosition, bool bEndEdit);
    virtual bool OnGridCellInplaceControlAddressInputVerify(CExtGridCell* pCell, HWND hWndInplaceControl,
                                                            LONG nColNo, LONG nRowNo, INT nColType,
                                                            INT nRowType, DWORD dwAddress, bool bEndEdit);
    // The traits of a cell's editor: read-only, password, text and background colour
    // (-1 none); the base leaves them as they are.
    virtual void OnGridCellInplaceControlQueryOptions(CExtGridCell* pCell, HWND hWndInplaceControl, LONG nColNo,
                                                      LONG nRowNo, INT nColType, INT nRowType, bool* pbReadOnly,
                                                      bool* pbPassword, COLORREF* pclrText, COLORREF* pclrBack);
    // After an in-place editor ended: with bApply the value was stored and
    // OnCellValueChanged follows.
    virtual void OnInplaceControlApplied(CExtGridCell* pCell, HWND hWndInplaceControl, LONG nColNo, LONG nRowNo,
                                         INT nColType, INT nRowType, LPCTSTR sText, bool bApply);
    virtual void OnInplaceControlApplied(CExtGridCell* pCell, HWND hWndInplaceControl, LONG nColNo, LONG nRowNo,
                                         INT nColType, INT nRowType, const COleDateTime& dtValue, bool bApply);
    virtual void OnInplaceControlApplied(CExtGridCell* pCell, HWND hWndInplaceControl, LONG nColNo, LONG nRowNo,
                                         INT nColType, INT nRowType, int nPosition, bool bApply);
    virtual void OnInplaceControlApplied(CExtGridCell* pCell, HWND hWndInplaceControl, LONG nColNo, LONG nRowNo,
                                         INT nColType, INT nRowType, DWORD dwAddress, bool bApply);
    virtual void OnCellValueChanged(CExtGridCell* pCell, LONG nRowNo, LONG nColNo, INT nRowType, INT nColType,
                                    DWORD dwReserved = 0);
    virtual void OnCheckStateChanged(CExtGridCell* pCell, LONG nColNo, LONG nRowNo, INT nColType, INT nRowType);

    // ---- in-place editing ------------------------------------------------------------------
    // Hook before an edit starts; true means it took the edit over.
    virtual bool OnPreEditCell(LONG nColNo, LONG nRowNo, INT nColType, INT nRowType);
    bool OnCellEditStart(int nColumn, int nRow, int nColType, int nRowType, DWORD dwFlags, const RECT& rcExtent,
                         const RECT& rcCell, const RECT& rcThird) override;
    // Starts editing a cell with known rectangles (negative indices: the focused cell,
    // which is scrolled into view and measured).
    bool EditCellAt(LONG nColNo, LONG nRowNo, INT nColType, INT nRowType, const RECT& rcCellExtra,
                    const RECT& rcCell, const RECT& rcInplaceControl, bool bDoMsgLoop);
    HWND GetInplaceControl() const { return m_hWndInplaceControl; }

    // ---- sorting, header press and drag, cell buttons -------------------------------------------
    virtual void UpdateSortArrows(bool bColumns, const CExtGridDataSortOrder& order, bool bSet);
    virtual bool GetSortOrder(bool bColumns, CExtGridDataSortOrder& order);
    virtual bool SetSortOrder(bool bColumns, const CExtGridDataSortOrder& order, bool bMerge = false,
                              bool bInvert = true, bool bRedraw = true);
    virtual bool TrackCellButton(CExtGridCell* pCell, const HIT_TEST_INFO& hti);
    virtual void TrackOuterCellPress(CExtGridCell* pCell, const HIT_TEST_INFO& hti, int nButton, UINT nFlags,
                                     bool bAllowDrag, const CExtGridDataSortOrder* pSortOrder, bool bMerge,
                                     bool bColumns);
    virtual void TrackOuterCellDrag(CExtGridCell* pCell, const HIT_TEST_INFO& hti, int nButton, UINT nFlags);
    virtual void OnOuterCellDragComplete(const HIT_TEST_INFO& htiSource, const HIT_TEST_INFO& htiTarget);
    virtual void OnOuterCellDragRemove(const HIT_TEST_INFO& htiSource);
    virtual void HitTestInSameBand(const HIT_TEST_INFO& htiRef, HIT_TEST_INFO& htiOut, CPoint point);
    virtual void OnPaintDraggedOuterCell(CDC& dc, LONG nVisibleColNo, LONG nVisibleRowNo, LONG nColNo,
                                         LONG nRowNo, const RECT& rc, DWORD dwAreaFlags);
    virtual CSize GetOuterCellDragThreshold(const HIT_TEST_INFO& hti);
    // An outside drop target for a dragged header: its index, -1 for none.
    virtual int OnOuterCellDropOutside(bool bDrop, int nPrevIndex, const RECT& rcImage, CExtGridCell* pCell,
                                       const HIT_TEST_INFO& hti, CExtContentExpandWnd& wndMarker,
                                       CExtContentExpandWnd& wndDragImage);
    virtual bool IsDragImageCentered() const;
    // Sets the cursor for an empty hit.
    void ResetCursor();

    // ---- provider events --------------------------------------------------------------------
    void OnSortBegin(bool bColumns) override;
    void OnSortEnd(bool bColumns) override;
    void OnSeriesSwapping(bool bColumns, ULONG nRowColNo1, ULONG nRowColNo2, ULONG nSwapCounter) override;
    void OnSeriesMoved(bool bColumns, ULONG nRowColNoFrom, ULONG nRowColNoTo) override;

    // ---- fields -----------------------------------------------------------------------
    HCURSOR m_hCursorOuterDragOK;
    HCURSOR m_hCursorOuterDragRemove;

    // The cell whose in-place editor is open, shared with the cells.
    static CExtGridCell* g_pCellInplaceEditing;
    // One tracking of each kind at a time in the process.
    static CExtGridCell* g_pCellTrackingButton;
    static CExtGridCell* g_pCellTrackingOuterPress;
    static CExtGridCell* g_pCellTrackingOuterDrag;

protected:
    CExtGridDataProvider* m_pDataProvider;
    DWORD m_dwBehaviorStyle;
    DWORD m_dwGridStyleEx;
    LONG m_nEditedColNo;
    LONG m_nEditedRowNo;
    HWND m_hWndInplaceControl;

    // Reserved outer counts of the provider: columns (left + right) and rows.
    void OuterReserved(ULONG& nColumns, ULONG& nRows);
    // A band's count change pushed to the provider; -1 when it refuses.
    int ChangeOuterCount(bool bColumns, bool bFar, int nCount, bool bRedraw);
    // The provider index of a grid index in a band.
    LONG ProviderColumn(LONG nColNo, INT nColType);
    LONG ProviderRow(LONG nRowNo, INT nRowType);
    bool BandCountCheck(bool bColumns, LONG nIndex, INT nType, LONG nCount);
    bool InsertInner(bool bColumns, int nPos, int nCount, bool bRedraw);
    int RemoveInner(bool bColumns, int nPos, int nCount, bool bRedraw);
    // Proportional items fill the client area when the grid scrolls no way in that direction.
    bool IsProportional(bool bColumns) const;
    void FitProportional(bool bColumns, int nIndex);
    // The extent range a header allows its item: 0..32767 unless it sets its own.
    static void HeaderExtentLimits(CExtGridCell* pHeader, INT& nMin, INT& nMax);
    // The header cell of an inner column (row): first band with items, then inner 0.
    CExtGridCell* HeaderCellOf(bool bColumns, int nIndex);
    int QueryItemExtent(bool bColumns, int nIndex, int* pBefore, int* pAfter);
    bool GetItemResizeRange(bool bColumns, int nIndex, int& nMin, int& nMax);
    // The space an item asks for before and after its own extent, together, as the
    // window's extent query (InnerExtent) reports it.
    int ItemExtraSpace(bool bColumns, int nIndex);
    bool BestFit(bool bColumns, LONG nIndex, INT nType, bool bOuter, bool bInner, bool bVisibleOnly, bool bRedraw);
    bool BestFitByDoubleClick(const HIT_TEST_INFO& hti);
    bool EditByClick(int nEvent, CPoint point);
    DWORD PressedPaintFlags(int nColumn, int nRow, DWORD dwAreaFlags);
    void PaintCellWithFlags(CDC& dc, int nVisibleColumn, int nVisibleRow, int nColumn, int nRow,
                            const RECT& rcExtent, const RECT& rcCell, DWORD dwAreaFlags, DWORD dwPaintFlags);
    void RunInplaceEditLoop(CExtGridCell* pCell);
    int RunCellIdle(CExtGridCell* pCell, HWND hWndEditor);
    bool PressCellButtonInstead(CExtGridCell* pCell, int nColumn, int nRow, int nColType, int nRowType,
                                const RECT& rcExtent, const RECT& rcCell);
    void RenumberAfterMove(bool bColumns, LONG nFrom, LONG nTo);
    // A click on a header that does not sort selects its column (row) when the grid
    // style says so.
    void SelectByHeaderClick(const HIT_TEST_INFO& hti, UINT nFlags);
    // Whether a drop on the target would move the dragged column (row) at all.
    static bool DragTargetMoves(const HIT_TEST_INFO& htiSource, const HIT_TEST_INFO& htiTarget);
    // A header drag in progress.
    struct OUTER_DRAG_STATE
    {
        CExtGridCell* pCell;
        const CExtGridCellWatch* pWatch;  // pCell, NULL once it is destroyed
        HIT_TEST_INFO hti;       // the dragged header as pressed
        CRect rcImage;           // the image's first place, client coordinates
        CRect rcImageWnd;        // the same on the screen
        HIT_TEST_INFO htiLast;   // the last target in the band
        CPoint ptLastOffset;
        int nOutsideIndex;       // an outside drop target, -1 none
        bool bMove, bRemove;
        CExtContentExpandWnd* pWndImage;
        CExtContentExpandWnd* pWndMarker;
    };
    CRect DragImageRect(CExtGridCell* pCell, const HIT_TEST_INFO& hti);
    void DragShowMarker(OUTER_DRAG_STATE& st, const HIT_TEST_INFO& htiTarget);
    void DragFollowPointer(OUTER_DRAG_STATE& st, CPoint point);
    void DragLoop(OUTER_DRAG_STATE& st, int nButton, UINT nFlags);
    // The modal loops' message pump and idle step; false when the loop must end.
    bool PumpOneMessage();
    void IdleWait(bool& bIdle);
    // The next message of a tracking loop, peeked after idling while the queue is empty;
    // false when the window or the tracked cell (pTracking, read again each time) went.
    bool PeekTrackMessage(MSG& msg, HWND hWnd, CExtGridCell* const& pTracking, bool& bIdle);

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    DECLARE_MESSAGE_MAP()
};
