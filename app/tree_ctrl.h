// The groups tree: the framework's tree control with the theme's one-pixel border and
// flicker-free painting through an off-screen buffer.
#pragma once
#include "framework/framework.h"
#include "toolkit/theme/paint_manager.h"

class CExtTreeCtrl : public CTreeCtrl, public CExtPmBridge
{
    DECLARE_DYNAMIC(CExtTreeCtrl)
public:
    CExtTreeCtrl();
    virtual ~CExtTreeCtrl();

    void RegisterWithHolder() override;
    void UnregisterFromHolder() override;
    HWND GetBridgeHwnd() override;
    CExtPaintManager* GetPaintManager() override;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    afx_msg void OnNcPaint();
    DECLARE_MESSAGE_MAP()
};
