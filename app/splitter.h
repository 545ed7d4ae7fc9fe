// The application's two-pane splitter: two child windows side by side (or stacked) with
// a draggable bar between them. On resize it keeps the bar's proportion or the second
// pane's size; it can show one pane alone, and paints the bar and any pane area that
// has no window.
#pragma once
#include "framework/framework.h"
#include "toolkit/theme/paint_manager.h"

class CExtSplitter : public CWnd, public CExtPmBridge
{
    DECLARE_DYNAMIC(CExtSplitter)
public:
    enum
    {
        KEEP_PROPORTION = 1,    // m_nKeep is the position in 1/10000 of the usable length
        KEEP_SECOND_PANE = 4,   // m_nKeep is the second pane's size in pixels
    };

    CExtSplitter();
    virtual ~CExtSplitter();

    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID, DWORD dwExStyle = 0);

    // -1 puts the bar in the middle; the position is clamped (the edges, then the panes'
    // minimums). True when it changed.
    bool SetPosition(int nPos, bool bRelayout);
    // The smallest size along the axis, in pixels, that each pane keeps whatever sets the
    // position: a drag, a stored percentage, a resize, the double-click's middle. When the
    // layout is too short for both, pane nFirmPane keeps its minimum and the other gets
    // what is left. A position already set is clamped again at once; the kept proportion
    // (or second-pane size) stays as it was, so a larger layout brings the old split back.
    void SetPaneMinimums(int nFirst, int nSecond, int nFirmPane);
    // NULL: the client rectangle.
    void SetLayoutRect(const RECT* pRect);
    // 0 or 1 shows that pane alone, -1 both; false for any other value.
    bool ShowPane(int nIndex);
    void RecalcLayout();
    bool GetBarRect(RECT* pRect) const;
    bool GetPaneRect(int nIndex, RECT* pRect) const;
    // -1 for a coordinate that is not given.
    bool HitTestBar(int x, int y) const;

    // The paint-manager bridge.
    void RegisterWithHolder() override;
    void UnregisterFromHolder() override;
    HWND GetBridgeHwnd() override;
    CExtPaintManager* GetPaintManager() override;

    HWND m_hWndPane[2];
    bool m_bVertical;
    RECT m_rcLayout;
    int m_nPosition;
    int m_nFocusPane;
    int m_nBarSize;
    HCURSOR m_hCursor;
    int m_nMinPane;
    int m_nBarExtra;
    bool m_bFullDrag;
    int m_nDragOffset;
    int m_nKeep;
    bool m_bTrackKeep;
    DWORD m_nKeepMode;
    int m_nSinglePane;
    int m_nPaneMin[2];
    int m_nFirmPane;

protected:
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnCaptureChanged(CWnd* pWnd);
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
    afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    afx_msg void OnSetFocus(CWnd* pOldWnd);
    afx_msg int OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message);
    afx_msg void OnSettingChange(UINT uFlags, LPCTSTR lpszSection);
    DECLARE_MESSAGE_MAP()

    void ReadMetrics();
    int LayoutLength() const;
    int UsableLength() const;
    int LayoutStart() const;
    int ClampToPaneMinimums(int nPos) const;
    void DrawTracker();
    void DrawEmptyArea(CDC& dc, const RECT& rc);
    bool m_bTrackerShown;
};
