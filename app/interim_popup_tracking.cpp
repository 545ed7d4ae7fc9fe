#include "app/interim_popup_tracking.h"
#include "toolkit/menus/popup_menu_wnd.h"

void InterimTrackPopupMenu(CExtPopupMenuWnd* pMenu, HWND hWndCmdRecv, int x, int y)
{
    if (pMenu == NULL) return;
    HMENU hMenu = pMenu->ExportToHMENU(true);
    if (hMenu != NULL) {
        ::TrackPopupMenu(hMenu, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON, x, y, 0, hWndCmdRecv, NULL);
        ::DestroyMenu(hMenu);
    }
    delete pMenu;
}
