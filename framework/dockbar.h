// CDockBar: the window along one side of a frame (or inside a floating frame) that holds
// docked control bars in rows, and CDockContext, a bar's docking state.
//
// m_arrBars: entry 0 is NULL, a NULL entry ends a row, an entry below 0x10000 is the
// placeholder id of a bar that left (so it can come back to its place), any other entry
// is a CControlBar*.
#pragma once
#include "framework/ctrlbar.h"
#include "framework/collections.h"

class CDockBar : public CControlBar {
    DECLARE_DYNAMIC(CDockBar)
public:
    explicit CDockBar(BOOL bFloating = FALSE);
    virtual ~CDockBar();

    BOOL m_bFloating;          // the dock bar of a floating frame
    CPtrArray m_arrBars;
    BOOL m_bLayoutQuery;       // set while a WM_SIZEPARENT query (no batch) runs
    CRect m_rectLayout;        // the layout rectangle of the current WM_SIZEPARENT

    BOOL Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID);

    virtual BOOL IsDockBar() const { return TRUE; }
    int GetDockedCount() const;
    int GetDockedVisibleCount() const;
    void DockControlBar(CControlBar* pBar, LPCRECT lpRect = NULL);
    void ReDockControlBar(CControlBar* pBar, LPCRECT lpRect = NULL);
    // nAddPlaceHolder: 1 leaves the bar's id in its place, 0 removes it and any
    // placeholder of it, -1 removes it and keeps placeholders.
    virtual BOOL RemoveControlBar(CControlBar* pBar, int nPosExclude = -1, int nAddPlaceHolder = 0);
    void RemovePlaceHolder(CControlBar* pBar);
    void ShowAll(BOOL bShow);

    // The bar at an array position, NULL for row ends and placeholders.
    CControlBar* GetDockedControlBar(int nPos) const;
    int FindBar(CControlBar* pBar, int nPosExclude = -1);

    virtual CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz);
    virtual void DoPaint(CDC* pDC);
    virtual void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler);

    // Inserts a bar dropped at rect (client coordinates) into the row that holds ptMid,
    // after the last bar that starts before it; below every row it opens a new row.
    // Answers the bar's position in m_arrBars.
    int Insert(CControlBar* pBarIns, CRect rect, CPoint ptMid);

protected:

    afx_msg LRESULT OnSizeParent(WPARAM wParam, LPARAM lParam);
    afx_msg void OnNcCalcSize(BOOL bCalcValidRects, NCCALCSIZE_PARAMS* lpncsp);
    afx_msg void OnNcPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);

    DECLARE_MESSAGE_MAP()
};

// The docking state of one bar: where it was docked and floated last. Dragging and
// resizing are the toolkit's own; the framework keeps only what toggling needs.
class CDockContext {
public:
    explicit CDockContext(CControlBar* pBar);
    virtual ~CDockContext();

    CControlBar* m_pBar;
    CFrameWnd* m_pDockSite;
    DWORD m_dwDockStyle;        // the bar's allowed sides
    DWORD m_dwStyle;            // the bar's style when the context was made
    CRect m_rectMRUDockPos;     // last docked rectangle (dock bar client coordinates)
    DWORD m_dwMRUFloatStyle;
    CPoint m_ptMRUFloatPos;     // last floating position (screen); (-1,-1) when none
    UINT m_uMRUDockID;          // last dock bar id, 0 when none
    BOOL m_bDragging;

    virtual void StartDrag(CPoint pt);
    virtual void StartResize(int nHitTest, CPoint pt);
    virtual void ToggleDocking();
};
