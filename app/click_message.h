// Whether a message is a press of a mouse button (a click or the second half of a
// double-click), of any button: what the program list's input rule treats as a click.
#pragma once
#include "framework/framework.h"

inline bool IsClickMessage(UINT message)
{
    switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK:
    case WM_XBUTTONDOWN:
    case WM_XBUTTONDBLCLK:
        return true;
    default:
        return false;
    }
}
