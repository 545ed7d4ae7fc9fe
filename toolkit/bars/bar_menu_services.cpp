// What the popup menus need of the control bars: the button-menu tracking flag, the
// status text of a command and the bar being dragged. The menus are linked before the
// bars, so these are handed to them through their service table when the bars start.
#include "toolkit/bars/control_bar.h"
#include "framework/afxres.h"
#include "toolkit/menus/popup_tracking_site.h"
#include "toolkit/bars/mini_frame.h"
#include "toolkit/core/cmd_manager.h"
#include "toolkit/core/cmd_item.h"
#include "framework/statusbar.h"

CExtControlBar* CExtControlBar::g_pDraggedBar = NULL;

bool CExtControlBar::g_bUseCmdManagerForSetMessageString = true;

void CExtControlBar::ShowCommandStatusText(CWnd* pWnd, UINT nCmdID)
{
    if (pWnd == NULL || pWnd->GetSafeHwnd() == NULL || !::IsWindow(pWnd->GetSafeHwnd()))
        return;
    CExtCustomizeSite* pSite = CExtCustomizeSite::GetCustomizeSite(pWnd->GetSafeHwnd());
    if (pSite != NULL && pSite->IsCustomizeMode())
        nCmdID = AFX_IDS_IDLEMESSAGE;
    CFrameWnd* pFrame = DYNAMIC_DOWNCAST(CFrameWnd, pWnd);
    if (pFrame == NULL && (pWnd->GetStyle() & WS_CHILD) != 0)
        pFrame = pWnd->GetParentFrame();
    if (pFrame != NULL && pFrame->IsKindOf(RUNTIME_CLASS(CExtMiniDockFrameWnd)))
        pFrame = pFrame->GetParentFrame();
    // A host that is no frame (a dialog carrying the bars) decides itself what its status
    // bar shows, so it hears every prompt; a child bar inside it passes it up to it.
    HWND hWndReceiver = pFrame != NULL ? pFrame->GetSafeHwnd() : ::GetAncestor(pWnd->GetSafeHwnd(), GA_ROOT);
    if (hWndReceiver == NULL)
        hWndReceiver = pWnd->GetSafeHwnd();
    if (pFrame != NULL && g_bUseCmdManagerForSetMessageString && nCmdID != AFX_IDS_IDLEMESSAGE)
    {
        CExtCmdItem* pCmd =
            g_CommandManager->CmdGetPtr(g_CommandManager->ProfileNameFromWnd(pWnd->GetSafeHwnd()), nCmdID);
        CStatusBar* pStatus = DYNAMIC_DOWNCAST(CStatusBar, pFrame->GetDlgItem(AFX_IDW_STATUS_BAR));
        if (pCmd != NULL && pStatus != NULL)
        {
            const int nPane = pStatus->CommandToIndex(0);
            if (nPane >= 0)
                pStatus->SetPaneText(nPane, pCmd->m_sTipStatus);
            return;
        }
    }
    ::SendMessage(hWndReceiver, WM_SETMESSAGESTRING, (WPARAM)nCmdID, 0);
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
