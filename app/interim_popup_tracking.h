// Stand-in for the toolkit's popup-menu tracking, which is not in the toolkit yet: a
// popup menu built by CExtPopupMenuWnd is shown with the platform's own menu tracking.
// Remove it when CExtPopupMenuWnd::TrackPopupMenu lands; callers then track the menu
// themselves and the menu deletes itself.
#pragma once
#include "framework/framework.h"

class CExtPopupMenuWnd;

// Shows the menu's items at a screen point; the chosen command goes to hWndCmdRecv as
// WM_COMMAND. Always deletes pMenu, as the tracked menu would delete itself.
void InterimTrackPopupMenu(CExtPopupMenuWnd* pMenu, HWND hWndCmdRecv, int x, int y);
