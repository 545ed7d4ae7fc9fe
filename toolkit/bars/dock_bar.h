// The toolkit's dock bars: CExtDockBar along a frame side (in rings, one inside another)
// and CExtDockOuterBar, the frame-edge dock bar of toolbars and the menu bar, whose row
// layout shrinks and grows fixed bars by preference instead of wrapping them at once.
//
// The framework's bar array stays the source of truth for rows: entry 0 is NULL, a NULL
// entry ends a row, an entry below 0x10000 is the placeholder id of a bar that left.
#pragma once
#include "toolkit/bars/control_bar.h"

class CExtDynAutoHideArea;

class CExtDockBar : public CDockBar, public CExtPmBridge
{
    DECLARE_DYNAMIC(CExtDockBar)
public:
    explicit CExtDockBar(UINT nCircleNo = 0);
    virtual ~CExtDockBar();

    static const char* const g_sDockBarClassName;  // "Kestrix-DockBar"
    static bool RegisterDockBarClass();

    BOOL Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID);
    virtual BOOL DestroyWindow();
    virtual BOOL PreCreateWindow(CREATESTRUCT& cs);
    virtual LRESULT WindowProc(UINT nMessage, WPARAM wParam, LPARAM lParam);
    // The size the bar may fill: its layout rectangle, else the frame's client area.
    CSize GetLayoutArea();
    virtual CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz);
    virtual void DoPaint(CDC* pDC);
    virtual void DrawBorders(CDC* pDC, CRect& rect);

    // ---- paint-manager bridge -----------------------------------------------------------
    void RegisterWithHolder() override;
    void UnregisterFromHolder() override;
    HWND GetBridgeHwnd() override;
    CExtPaintManager* GetPaintManager() override;

    // ---- own operations -----------------------------------------------------------------
    virtual void NotifyAutoHideArea1();
    virtual void NotifyAutoHideArea2();
    virtual CExtDynAutoHideArea* GetAutoHideArea() const { return m_pAutoHideArea; }
    void SetAutoHideArea(CExtDynAutoHideArea* pArea) { m_pAutoHideArea = pArea; }
    // The inner edge, which the auto-hide area of the side pushes inwards.
    CRect& InnerEdgeRectRef() { return m_rcLastInvisiblePreCalc; }
    // True when the lock changed.
    virtual bool SetLayoutLock(bool bLock);
    virtual void UpdateNestedLayout();
    virtual void UpdateNestedLayout2();
    bool IsLayoutLocked() const { return m_bLockLayout; }

    // ---- rings --------------------------------------------------------------------------
    UINT GetCircleNo() const { return m_nCircleNo; }
    CExtDockBar* GetOuterNeighbour() const { return m_pDockBarOuter; }
    CExtDockBar* GetInnerNeighbour() const { return m_pDockBarInner; }
    const CRect& GetInnerEdgeRect() const { return m_rcLastInvisiblePreCalc; }
    static CExtDockBar* FindDockBar(CFrameWnd* pFrame, UINT nCircleNo, UINT nDockBarID, bool bCreate);
    CExtDockBar* GetRingDockBar(UINT nCircleNo);
    UINT GetNextRingNo();
    CExtDockBar* FindSameRingDockBar(UINT nDockBarID, bool bCreate);
    static UINT CreateInnerRing(CFrameWnd* pFrame);
    static void InsertRing(CFrameWnd* pFrame, UINT nCircleNo);
    void InsertRingInside() { InsertRing(GetDockingFrame(), m_nCircleNo + 1); }
    static void RemoveEmptyRings(CFrameWnd* pFrame);
    void OptimizeRings();
    bool IsDockBarEmpty() const;

    // ---- placeholders and bars ----------------------------------------------------------
    // The index of the bar's placeholder (removed, with a row end it leaves doubled);
    // -1 when none. With bNested the frame's other dock bars are searched too.
    INT_PTR FindBarPosition(CControlBar* pBar, bool bNested, bool* pbFound = NULL);
    INT_PTR FindBarPosition(UINT nID, bool bNested, bool* pbFound = NULL);
    void RemovePlaceholders(bool bNested);
    // Drops the placeholders of bar id nID from the frame's dock bars (pExclude aside);
    // true when one was found.
    static bool FindPlaceholderInFrame(CFrameWnd* pFrame, UINT nID, CExtDockBar* pExclude);
    virtual BOOL RemoveControlBar(CControlBar* pBar, int nPosExclude = -1, int nAddPlaceHolder = 0);
    BOOL RemoveControlBar(CControlBar* pBar, int nPosExclude, int nAddPlaceHolder, bool bRecalc);
    // Docks a bar here, at lpRect (screen) or as a row of its own at the end.
    void DockControlBar(CControlBar* pBar, LPCRECT lpRect = NULL, bool bMoveNow = false);
    // Every bar leaves for the frame; used when the dock bar goes away.
    void DetachAllBars();
    // Inserts a row end at nPos unless one is there already.
    void InsertRowBreak(INT_PTR nPos);

    // ---- bars menu ----------------------------------------------------------------------
    // Lists the frame's bars with check marks on the visible ones between the two
    // notifications of the event (a receiver may fill the menu instead).
    static bool BuildBarsPopupMenu(CFrameWnd* pFrame, CExtPopupMenuWnd* pPopup, WORD nEventCode,
                                   CWnd* pWndEventSrc, UINT nMsgID, CObject* pEventSrcObj);
    // Appends the sub-menu through which the user adds and removes the buttons of pBar
    // (and of the other customizable toolbars of its row); false when pBar's site does
    // not let it be customized.
    static bool AppendToolbarCustomizeMenu(CExtPopupMenuWnd* pPopup, CExtControlBar* pBar);

protected:
    // The end of a layout pass: the deferred moves run, the pixel each row gave back returns
    // and the nested bars follow.
    CSize EndFixedLayout(CSize sizeFixed, AFX_SIZEPARENTPARAMS& layout, BOOL bStretch, BOOL bHorz);
    static bool g_bDockBarClassRegistered;
    bool m_bLockLayout;
    UINT m_nCircleNo;
    CExtDockBar* m_pDockBarOuter;
    CExtDockBar* m_pDockBarInner;
    CRect m_rcLastInvisiblePreCalc;
    bool m_bInNestedLayout;
    CExtDynAutoHideArea* m_pAutoHideArea;

    void Unlink();
    static void DestroyRingDockBar(CExtDockBar* pDockBar);
    static CExtDockBar* InnermostOfSide(CFrameWnd* pFrame, UINT nDockBarID);
    // Delayed frame layout (the idle flags 0x0C).
    void DelayFrameLayout();

    afx_msg LRESULT OnSizeParent(WPARAM wParam, LPARAM lParam);
    afx_msg void OnContextMenu(CWnd* pWnd, CPoint point);
    afx_msg void OnCancelMode();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnNcCalcSize(BOOL bCalcValidRects, NCCALCSIZE_PARAMS* lpncsp);
    afx_msg void OnNcPaint();
    afx_msg LRESULT OnHelpHitTest(WPARAM wParam, LPARAM lParam);
    afx_msg void OnDestroy();
    DECLARE_MESSAGE_MAP()
};

// The frame-edge dock bar of fixed bars. The row layout works on plain records (the
// bar pointer is only carried along) so that it can be driven without windows.
class CExtDockOuterBar : public CExtDockBar
{
    DECLARE_DYNAMIC(CExtDockOuterBar)
public:
    CExtDockOuterBar();
    virtual ~CExtDockOuterBar();

    struct OuterLayoutItemData
    {
        CControlBar* m_pBar;
        bool m_bVisible;
        CSize m_size;       // preferred size
        CSize m_sizeMin;    // minimum size
        CRect m_rcPreCalc;  // planned rectangle
        CRect m_rcBar;      // current rectangle
        // What the layout needs to know of the bar, filled when the record is made.
        CExtControlBar::OuterPlace_t* m_pPlace;  // NULL for bars without a place record
        bool m_bShrinkable;                      // a fixed-mode toolkit bar or a foreign bar
        bool m_bTakesThickness;

        OuterLayoutItemData();
        OuterLayoutItemData(CControlBar* pBar, bool bHorz, const CSize& sizeAvail, bool bFloating);
    };
    typedef CArray<OuterLayoutItemData, const OuterLayoutItemData&> OuterItemsArr_t;

    virtual CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz);
    void UpdateNestedLayout() override { CExtDockBar::UpdateNestedLayout(); }
    void UpdateNestedLayout2() override { CExtDockBar::UpdateNestedLayout2(); }

    // ---- the row layout (no windows touched by the planning steps) ----------------------
    // Plans the row and, outside query mode with a layout record, moves its bars.
    void LayoutRow(CSize& sizeFixed, const CSize& sizeAvail, CPoint& ptPen, bool bHorz,
                   AFX_SIZEPARENTPARAMS* pLayout, OuterItemsArr_t& arrRow, int* pnRows = NULL,
                   bool* pbRowFull = NULL);
    // The planning half of LayoutRow: fills every record's planned rectangle, advances the
    // pen past the row (or rows, when it wrapped).
    static void PlanRow(CSize& sizeFixed, const CSize& sizeAvail, CPoint& ptPen, bool bHorz, bool bFloating,
                        OuterItemsArr_t& arrRow, int* pnRows, bool* pbRowFull);
    static bool FitSegment(OuterItemsArr_t& arrRow, INT_PTR nFirst, INT_PTR nLast, int nAvail, bool bHorz,
                           bool& bStillFitting, bool* pbRowFull);
    static void EqualizeThickness(bool bHorz, OuterItemsArr_t& arrRow, INT_PTR nFirst, INT_PTR nLast);
    static void AdvanceRow(int& nThickness, CSize& sizeFixed, CPoint& ptPen, bool bHorz);
    static void BuildPreferenceOrder(bool bHorz, CArray<INT_PTR, INT_PTR>& arrOrder, OuterItemsArr_t& arrRow,
                                     bool bRank, INT_PTR nFirst = 0, INT_PTR nLast = -1);
    static void PushTowards(bool bHorz, OuterItemsArr_t& arrRow, INT_PTR nIndex, int nMove, int nAvail);
    static void SlideTowards(bool bHorz, OuterItemsArr_t& arrRow, INT_PTR nIndex, int nMove, int nAvail);

    // ---- registration and row operations ------------------------------------------------
    void RegisterBar(CExtControlBar* pBar);
    bool RecalcFrameLayout();
    void SwapRowItems(OuterItemsArr_t& arrRow, INT_PTR nA, INT_PTR nB);
    bool DockBarAsEdgeRow(CControlBar* pBar, bool bInnerSide);
    // Follows a drag of pBar along its row: the bar moves, pushes, shrinks or grows, or
    // swaps with its neighbour; pbChanged tells whether its wanted length changed.
    void MoveBarInRow(CControlBar* pBar, int nOffsetX, int nOffsetY, bool* pbChanged = NULL);
    // The steps of MoveBarInRow. The room the rows have: the layout rectangle, else the
    // client area.
    CSize RowRoom();
    // Records of the row's visible bars from nRowStart on, pBar's moved nOffset along the
    // row; pBar's index among them, -1 when it is not there.
    INT_PTR CollectMovedRow(INT_PTR nRowStart, CControlBar* pBar, int nOffset, bool bHorz, const CSize& sizeAvail,
                            OuterItemsArr_t& arrRow);
    // In a full row the drag changes the bar's wanted length; true when it changed.
    bool ResizeInFullRow(CExtControlBar* pBar, CExtControlBar::OuterPlace_t& place, const OuterLayoutItemData& self,
                         int nOffset, bool bHorz);
    // In a wrapped row the bar keeps its planned place and swaps with the neighbour it
    // passed or overlaps by the offset.
    void SwapWithPassedNeighbour(CExtControlBar* pBar, CExtControlBar::OuterPlace_t& place, OuterItemsArr_t& arrRow,
                                 INT_PTR nSelf, int nOffset, bool bHorz);
    // Lays the row from nRowStart out at ptRow, moving and repainting its bars.
    void LayoutRowNow(INT_PTR nRowStart, const CPoint& ptRow, bool bHorz, const CSize& sizeAvail, int nWindowsHint);
    // Puts pBar in a row of its own just before or after the row of pTargetBar.
    bool DockBarAsNewRow(CControlBar* pTargetBar, CControlBar* pBar, bool bBefore);
    // Moves pBar into the row of arrRowBars, nOffset along the row from where its window
    // is; false when it does not fit there or finds no place.
    bool TryDockIntoRow(CControlBar* pBar, const CArray<CControlBar*, CControlBar*>& arrRowBars, int nOffset);

protected:
    bool m_bFrameRecalcInProgress;
    bool m_bFrameRecalcPending;

    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
    afx_msg void OnSysColorChange();
    afx_msg void OnSettingChange(UINT uFlags, LPCTSTR lpszSection);
    afx_msg LRESULT OnDisplayChange(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnThemeChanged(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()
};
