#pragma once

#include <cstring>

#include "framework/platform.h"

// The picker windows each own a plain double-click window class. A class another module
// of the process registered under the same name is taken as it stands; bRegistered
// remembers the outcome so the check runs once per class.
inline bool RegisterPickerWndClass(LPCTSTR sClassName, bool& bRegistered)
{
    if (bRegistered)
        return true;
    HINSTANCE hInst = ::GetModuleHandle(NULL);
    WNDCLASS wc;
    if (::GetClassInfo(hInst, sClassName, &wc)) {
        bRegistered = true;
        return true;
    }
    ::memset(&wc, 0, sizeof(wc));
    wc.style = CS_DBLCLKS | CS_GLOBALCLASS;
    wc.lpfnWndProc = ::DefWindowProc;
    wc.hInstance = hInst;
    wc.hCursor = ::LoadCursor(NULL, IDC_ARROW);
    wc.lpszClassName = sClassName;
    if (!::RegisterClass(&wc))
        return false;
    bRegistered = true;
    return true;
}
