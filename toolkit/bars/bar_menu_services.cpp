// What the popup menus need of the control bars: the button-menu tracking flag, the
// status text of a command and the bar being dragged. The menus are linked before the
// bars, so these are handed to them through their service table when the bars start.
#include "toolkit/bars/control_bar.h"
#include "framework/afxres.h"
#include "toolkit/menus/popup_tracking_site.h"

CExtControlBar* CExtControlBar::g_pDraggedBar = NULL;

void CExtControlBar::ShowCommandStatusText(CWnd* pWnd, UINT nCmdID)
{
    if (pWnd == NULL || pWnd->GetSafeHwnd() == NULL || !::IsWindow(pWnd->GetSafeHwnd()))
        return;
    // The frame is the top-level window of the chain; it owns the status bar.
    HWND hWndFrame = ::GetAncestor(pWnd->GetSafeHwnd(), GA_ROOT);
    if (hWndFrame != NULL)
        ::SendMessage(hWndFrame, WM_SETMESSAGESTRING, (WPARAM)nCmdID, 0);
}

namespace {

// The screen rectangle of the toolbar button whose menu is open: a release over it ends
// the press that opened the menu and must not close the menu again.
bool GetTrackedButtonRect(RECT* pRectScreen)
{
    for (INT_PTR i = 0; i < CExtControlBar::g_AllBars.GetSize(); i++)
    {
        CExtToolControlBar* pBar = DYNAMIC_DOWNCAST(CExtToolControlBar, CExtControlBar::g_AllBars[i]);
        if (pBar == NULL || pBar->GetSafeHwnd() == NULL)
            continue;
        CExtBarButton* pButton = pBar->GetButton(pBar->GetMenuTrackingButton());
        if (pButton == NULL)
            continue;
        CRect rc = pButton->GetRect();
        pBar->ClientToScreen(&rc);
        *pRectScreen = rc;
        return true;
    }
    return false;
}

struct MenuServicesInstaller
{
    MenuServicesInstaller()
    {
        g_PopupBarServices.pfnIsButtonMenuTracking = [] { return CExtToolControlBar::g_bButtonMenuTracking; };
        g_PopupBarServices.pfnCancelAllButtonMenuTracking = CExtToolControlBar::CancelAllButtonMenuTracking;
        g_PopupBarServices.pfnShowCommandStatusText = CExtControlBar::ShowCommandStatusText;
        g_PopupBarServices.pfnGetTrackedButtonRect = GetTrackedButtonRect;
        g_PopupBarServices.pfnGetDraggedBar = []() -> CObject* { return CExtControlBar::GetDraggedBar(); };
    }
};
MenuServicesInstaller g_menuServicesInstaller;

}  // namespace
