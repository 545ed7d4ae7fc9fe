// The floating frame of toolkit bars: the framework's floating frame with its system
// caption and sizing frame replaced by the toolkit's own (frame borders and a small
// caption painted by the paint manager, the bar's caption buttons or the frame's own
// close button), its own sizing loop, and a place always inside the work area.
#pragma once
#include "framework/miniframe.h"
#include "toolkit/core/hook_sink.h"
#include "toolkit/theme/paint_manager.h"

class CExtControlBar;

class CExtMiniDockFrameWnd : public CMiniDockFrameWnd, public CExtMouseCaptureSink, public CExtPmBridge
{
    DECLARE_DYNCREATE(CExtMiniDockFrameWnd)
public:
    CExtMiniDockFrameWnd();
    virtual ~CExtMiniDockFrameWnd();

    // The toolkit bar the frame contains, or NULL; GetAnyControlBar answers any bar.
    CExtControlBar* GetControlBar();
    CControlBar* GetAnyControlBar();
    // Brings a floating frame to the top when the mouse moves over its bar; off.
    static bool g_bBringToTopOnMouseMove;

    virtual BOOL Create(CWnd* pParent, DWORD dwBarStyle);
    virtual BOOL PreCreateWindow(CREATESTRUCT& cs);
    virtual void CalcWindowRect(LPRECT lpClientRect, UINT nAdjustType = adjustBorder);
    virtual BOOL PreTranslateMessage(MSG* pMsg);
    virtual INT_PTR OnToolHitTest(CPoint point, TOOLINFO* pTI) const;
    virtual LRESULT WindowProc(UINT nMessage, WPARAM wParam, LPARAM lParam);
    // Paints the frame and the caption into a DC whose origin is the window's corner.
    virtual void NcPaint(CDC& dc);

    void RegisterWithHolder() override;
    void UnregisterFromHolder() override;
    HWND GetBridgeHwnd() override;
    CExtPaintManager* GetPaintManager() override;
    void OnPaintManagerInstalled(CExtPaintManager* pPM) override;

    bool IsResizing() const { return m_nResizingHT != 0; }
    const RECT& GetCaptionRect() const { return m_rcFrameCaption; }
    // The text the caption shows.
    void QueryCaptionText(CString& sCaption);
    const RECT& GetCloseButtonRect() const { return m_rcBtnHideBar; }
    // Sizes the frame from an edge or corner (hit code 10-17) until the button is let
    // go, a key is pressed or the capture is lost.
    void ResizeLoop(UINT nHitTest);
    void EndResizing();

protected:
    bool m_bResizingByCode;
    CToolTipCtrl m_wndToolTip;
    RECT m_rcBtnHideBar;
    BOOL m_bBtnHideBarHover;
    RECT m_rcFrameCaption;
    CPoint m_ptLastTrack;
    UINT m_nResizingHT;
    RECT m_rcResizingStart;

    void ApplyTrackPoint(CPoint ptScreen);
    void ApplyTrackPointFixed(CExtControlBar* pBar, CRect rcWnd, UINT nHT);
    void TrackCloseButtonHover(CPoint ptScreen, bool bShowTips);
    void FitIntoWorkArea();
    CRect WorkAreaOf(const RECT& rc) const;
    void RelayChange(UINT nMessage, WPARAM wParam, LPARAM lParam);

    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnCancelMode();
    afx_msg void OnSysColorChange();
    afx_msg void OnSettingChange(UINT uFlags, LPCTSTR lpszSection);
    afx_msg LRESULT OnDisplayChange(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnThemeChanged(WPARAM wParam, LPARAM lParam);
    afx_msg void OnGetMinMaxInfo(MINMAXINFO* lpMMI);
    afx_msg void OnWindowPosChanging(WINDOWPOS* lpWndPos);
    afx_msg void OnWindowPosChanged(WINDOWPOS* lpWndPos);
    afx_msg void OnNcCalcSize(BOOL bCalcValidRects, NCCALCSIZE_PARAMS* lpncsp);
    afx_msg LRESULT OnNcHitTest(CPoint point);
    afx_msg void OnNcPaint();
    afx_msg BOOL OnNcActivate(BOOL bActive);
    afx_msg void OnNcMouseMove(UINT nHitTest, CPoint point);
    afx_msg void OnNcLButtonDown(UINT nHitTest, CPoint point);
    afx_msg void OnNcLButtonUp(UINT nHitTest, CPoint point);
    afx_msg void OnNcLButtonDblClk(UINT nHitTest, CPoint point);
    afx_msg void OnNcRButtonDown(UINT nHitTest, CPoint point);
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnRButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnCaptureChanged(CWnd* pWnd);
    DECLARE_MESSAGE_MAP()
};
