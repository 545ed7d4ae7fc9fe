#include "toolkit/dialogs/tab_neighbours.h"

CExtTabBarServices::Services CExtTabBarServices::g_services = {};

bool CExtTabBarServices::ReposQueryInfo(WPARAM wParam, CWnd** ppWnd)
{
    if (ppWnd != NULL)
        *ppWnd = NULL;
    return wParam != 0 && g_services.pfnReposQueryInfo != NULL && g_services.pfnReposQueryInfo(wParam, ppWnd);
}

void CExtTabBarServices::ReposSetSkip(WPARAM wParam)
{
    if (wParam != 0 && g_services.pfnReposSetSkip != NULL)
        g_services.pfnReposSetSkip(wParam);
}

bool CExtTabBarServices::IsFrameInHelpMode(CWnd* pWnd)
{
    return pWnd != NULL && g_services.pfnIsFrameInHelpMode != NULL && g_services.pfnIsFrameInHelpMode(pWnd);
}

bool CExtTabBarServices::NotifyPopupMenuEvent(WORD nEventCode, CExtPopupMenuWnd* pPopup, CWnd* pWndEventSrc,
                                              const POINT& ptScreen, UINT nMsgID, bool bPostNotification)
{
    return g_services.pfnNotifyPopupMenuEvent != NULL &&
           g_services.pfnNotifyPopupMenuEvent(nEventCode, pPopup, pWndEventSrc, ptScreen, nMsgID,
                                              bPostNotification);
}

bool CExtTabBarServices::DocumentContainerClickedButton(CWnd* pFrame, CWnd* pContainer, int nHitTest,
                                                        bool bButtonPressed, int nMouseButton,
                                                        UINT nMouseEventFlags, bool* pbAnswer)
{
    return pFrame != NULL && g_services.pfnDocumentContainerClickedButton != NULL &&
           g_services.pfnDocumentContainerClickedButton(pFrame, pContainer, nHitTest, bButtonPressed,
                                                        nMouseButton, nMouseEventFlags, pbAnswer);
}

bool CExtTabBarServices::IsPrintPreview(CWnd* pFrame)
{
    return pFrame != NULL && g_services.pfnIsPrintPreview != NULL && g_services.pfnIsPrintPreview(pFrame);
}

bool CExtTabBarServices::HasInPlaceActiveItem(CWnd* pFrame)
{
    return pFrame != NULL && g_services.pfnHasInPlaceActiveItem != NULL &&
           g_services.pfnHasInPlaceActiveItem(pFrame);
}
