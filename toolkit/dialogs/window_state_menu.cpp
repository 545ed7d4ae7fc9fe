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
    CExtPopupMenuWnd* pPopup = new CExtPopupMenuWnd;
    CMenu menuSys;
    menuSys.Attach(hSysMenu);
    bool bBuilt = pPopup->CreatePopupMenu(pWnd->m_hWnd) &&
                  pPopup->LoadMenu(pWnd->m_hWnd, &menuSys, false, true, false);
    menuSys.Detach();
    if (!bBuilt)
    {
        delete pPopup;
        return false;
    }
    DWORD dwTrackFlags = 0;
    CPoint pt = stat_SystemMenuPoint(pWnd, pPtScreen, bFromKeyboard, dwTrackFlags, pPopup->GetShadowSize());
    // Keys must reach the menu through the dialog's thread focus, not a window elsewhere.
    HWND hWndFocus = ::GetFocus();
    if (hWndFocus != NULL && hWndFocus != pWnd->m_hWnd && !::IsChild(pWnd->m_hWnd, hWndFocus))
        pWnd->SetFocus();
    // A menu that did not show is still ours; one that shows belongs to the tracking,
    // which deletes it when it closes.
    if (!pPopup->TrackPopupMenu(dwTrackFlags, pt.x, pt.y, CRect(pt, pt)))
    {
        delete pPopup;
        return false;
    }
    return true;
}

bool CExtWSHelper::stat_IsMenuTracking() { return CExtPopupMenuWnd::IsMenuTracking() != FALSE; }

void CExtWSHelper::stat_CancelMenuTracking() { CExtPopupMenuWnd::CancelMenuTracking(); }
