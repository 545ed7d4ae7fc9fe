#pragma once

#include "framework/platform.h"

// The font a themed control draws its text in: its own, else its parent's (a dialog's
// controls often carry none), else the GUI font. hWnd may be NULL before the control exists.
inline HFONT QueryControlFont(HWND hWnd)
{
    HFONT hFont = NULL;
    if (hWnd != NULL)
    {
        hFont = (HFONT)::SendMessage(hWnd, WM_GETFONT, 0, 0);
        HWND hWndParent = ::GetParent(hWnd);
        if (hFont == NULL && hWndParent != NULL)
            hFont = (HFONT)::SendMessage(hWndParent, WM_GETFONT, 0, 0);
    }
    if (hFont == NULL)
        hFont = (HFONT)::GetStockObject(DEFAULT_GUI_FONT);
    if (hFont == NULL)
        hFont = (HFONT)::GetStockObject(SYSTEM_FONT);
    return hFont;
}
