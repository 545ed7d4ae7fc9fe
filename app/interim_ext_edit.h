// A themed edit: it follows the mouse (the hover bit, polled by a 10 ms timer while the
// mouse is over it) and paints its non-client frame through the paint manager, 3
// pixels inside the window's edge. Owners that want the theme's edit frame while the
// edit is hovered or focused set the hover-frame bit.
#pragma once
#include "framework/framework.h"
#include "toolkit/theme/paint_manager.h"

class CInterimExtEdit : public CEdit, public CExtPmBridge
{
    DECLARE_DYNAMIC(CInterimExtEdit)
public:
    CInterimExtEdit();
    virtual ~CInterimExtEdit();

    virtual bool IsEditEnabled();
    virtual void RedrawFrame();
    // Paints the frame around rcFrame (window coordinates); without a DC the window DC.
    virtual void PaintFrame(CRect rcFrame, CDC* pDC);

    void RegisterWithHolder() override;
    void UnregisterFromHolder() override;
    HWND GetBridgeHwnd() override;
    CExtPaintManager* GetPaintManager() override;

    bool m_bMouseOver;   // the hover bit
    bool m_bHoverFrame;  // the hover-frame bit

protected:
    afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg void OnSetFocus(CWnd* pOldWnd);
    afx_msg void OnKillFocus(CWnd* pNewWnd);
    afx_msg void OnNcPaint();
    DECLARE_MESSAGE_MAP()

    void HoverStep();
};

// Whether a popup menu is tracking now (the focus frame is not shown meanwhile).
bool IsPopupMenuTracking();
