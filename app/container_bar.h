// A caption strip with a close button over one hosted child window: the frame of the
// Groups, Details and Group Editor panes. The close button tells the owner, which
// hides the pane.
#pragma once
#include "framework/framework.h"
#include "toolkit/theme/paint_manager.h"

class CExtContainerBar : public CWnd, public CExtPmBridge
{
    DECLARE_DYNAMIC(CExtContainerBar)
public:
    enum
    {
        CAPTION_HEIGHT = 18,
    };

    CExtContainerBar();
    virtual ~CExtContainerBar();

    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

    // Registered as "CExtContainerBar::g_nMsgNotifyBtnClose"; wParam the bar's window,
    // lParam its control id.
    static const UINT g_nMsgNotifyBtnClose;

    // NULL: the client rectangle.
    void GetCloseButtonRect(const RECT* pClient, RECT* pRect);
    bool IsCursorOverWindow();
    // Whether this bar, not a window over it, lies at a point of its client area: where
    // a mouse message was made.
    bool IsOverWindowAt(CPoint ptClient);
    // Whether the keyboard focus is in this bar (on it or on a window inside it).
    bool HasFocusWithin() const;
    // The narrowest width at which the caption shows its whole text and the close button.
    int GetCaptionMinWidth();
    // Draws the caption active or not (the close button too).
    void SetActive(bool bActive);
    // The caption of the bar that hosts pWndHosted shows whether the keyboard focus is
    // in that pane: the hosted page calls it as its controls gain and lose the focus.
    static void ShowFocusIn(CWnd* pWndHosted, bool bFocused);

    // The paint-manager bridge.
    void RegisterWithHolder() override;
    void UnregisterFromHolder() override;
    HWND GetBridgeHwnd() override;
    CExtPaintManager* GetPaintManager() override;

    CWnd* m_pWndNotify;
    CWnd* m_pWndChild;
    bool m_bHover;
    bool m_bPressed;
    bool m_bActive;

protected:
    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnShowWindow(BOOL bShow, UINT nStatus);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnCaptureChanged(CWnd* pWnd);
    afx_msg void OnKillFocus(CWnd* pNewWnd);
    DECLARE_MESSAGE_MAP()

    void InvalidateCaption();
};
