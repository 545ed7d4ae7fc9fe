// The themed system menu of the window-state layer: where it opens and how it tracks.
#include "toolkit/dialogs/window_state.h"
#include "toolkit/menus/popup_menu_wnd.h"

CPoint CExtWSHelper::stat_SystemMenuPoint(CWnd* pWnd, const POINT* pPtScreen, bool bFromKeyboard,
                                          DWORD& dwTrackFlags, int nShadowSize)
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
        pt.x += nShadowSize;
    return pt;
}

bool CExtWSHelper::stat_TrackSystemMenu(CWnd* pWnd, const POINT* pPtScreen, bool bFromKeyboard)
{
    HMENU hSysMenu = ::GetSystemMenu(pWnd->m_hWnd, FALSE);
    if (hSysMenu == NULL)
        return false;
    // SEAM: the popup menu cannot track yet (its TrackPopupMenu is still to come), so the
    // caller gets false and the dialog keeps working without a themed system menu. Once
    // tracking lands, this builds the menu and tracks it:
    //     CExtPopupMenuWnd* pPopup = new CExtPopupMenuWnd;
    //     CMenu menuSys; menuSys.Attach(hSysMenu);
    //     built = pPopup->CreatePopupMenu(hWnd) && pPopup->LoadMenu(hWnd, &menuSys, false, true, false);
    //     menuSys.Detach(); if (!built) { delete pPopup; return false; }
    //     pt = stat_SystemMenuPoint(pWnd, pPtScreen, bFromKeyboard, dwTrackFlags, pPopup->GetShadowSize());
    //     move the focus into the dialog when it is elsewhere;
    //     if (!pPopup->TrackPopupMenu(dwTrackFlags, pt.x, pt.y, CRect(pt, pt))) { delete pPopup; return false; }
    //     return true;
    (void)pPtScreen;
    (void)bFromKeyboard;
    return false;
}

bool CExtWSHelper::stat_IsMenuTracking() { return CExtPopupMenuWnd::IsMenuTracking() != FALSE; }

void CExtWSHelper::stat_CancelMenuTracking() { CExtPopupMenuWnd::CancelMenuTracking(); }
