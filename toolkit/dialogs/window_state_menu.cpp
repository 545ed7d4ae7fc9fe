// The themed system menu of the window-state layer: where it opens and how it tracks.
#include "toolkit/dialogs/window_state.h"

CPoint CExtWSHelper::stat_SystemMenuPoint(CWnd* pWnd, const POINT* pPtScreen, bool bFromKeyboard,
                                          DWORD& dwTrackFlags)
{
    bool bRTL = (pWnd->GetExStyle() & WS_EX_LAYOUTRTL) != 0;
    CPoint pt;
    if (pPtScreen != NULL)
    {
        pt = *pPtScreen;
    }
    else
    {
        CRect rcWnd, rcClient;
        pWnd->GetWindowRect(&rcWnd);
        pWnd->GetClientRect(&rcClient);
        pWnd->ClientToScreen(&rcClient);
        int nFrame = pWnd->IsZoomed() ? 0 : ::GetSystemMetrics(SM_CXFRAME);
        pt.x = bRTL ? (rcWnd.right - nFrame) : (rcWnd.left + nFrame);
        pt.y = rcWnd.top + (rcClient.top - rcWnd.top);
    }
    dwTrackFlags = (bRTL ? 3 : 4) | (bFromKeyboard ? 0x40 : 0);
    if (bRTL)
        pt.x += g_CurrentPaintManager->GetMenuShadowSize();
    return pt;
}

bool CExtWSHelper::stat_TrackSystemMenu(CWnd* pWnd, const POINT* pPtScreen, bool bFromKeyboard)
{
    if (::GetSystemMenu(pWnd->m_hWnd, FALSE) == NULL)
        return false;
    DWORD dwTrackFlags = 0;
    CPoint pt = stat_SystemMenuPoint(pWnd, pPtScreen, bFromKeyboard, dwTrackFlags);
    (void)pt;
    HWND hWndFocus = ::GetFocus();
    if (hWndFocus != NULL && hWndFocus != pWnd->m_hWnd && !::IsChild(pWnd->m_hWnd, hWndFocus))
        pWnd->SetFocus();
    // SEAM: the popup menu cannot track yet (its TrackPopupMenu is still to come). Until
    // it can, the system menu is built nowhere and the caller gets false, so the dialog
    // keeps working without a themed system menu.
    return false;
}

bool CExtWSHelper::stat_IsMenuTracking()
{
    // SEAM: asks CExtPopupMenuWnd::IsMenuTracking once the tracking site has landed.
    return false;
}

void CExtWSHelper::stat_CancelMenuTracking()
{
    // SEAM: calls CExtPopupMenuWnd::CancelMenuTracking once the tracking site has landed.
}
