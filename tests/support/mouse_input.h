// Mouse events as the hardware makes them (SendInput), each stamped with where the
// pointer was. They are queued before SendInput returns and taken when the window's
// thread next takes its messages, so a thread that does not pump meanwhile is a thread
// held busy while the hand goes on: a release made over a window, then the pointer
// moved elsewhere before the window's thread runs.
#pragma once
#include <windows.h>
#include <algorithm>

namespace testsupport {

// The nearest point of the screen.
inline POINT OnScreen(POINT pt)
{
    const LONG cx = ::GetSystemMetrics(SM_CXSCREEN), cy = ::GetSystemMetrics(SM_CYSCREEN);
    pt.x = std::min(std::max(pt.x, 0L), cx - 1);
    pt.y = std::min(std::max(pt.y, 0L), cy - 1);
    return pt;
}

// One mouse event: the pointer moved to a point of the screen (the nearest one when
// off it), with the button changes dwFlags gives (0: a move alone). Answers where the
// pointer goes.
inline POINT SendMouse(DWORD dwFlags, POINT pt)
{
    pt = OnScreen(pt);
    const int cx = ::GetSystemMetrics(SM_CXSCREEN), cy = ::GetSystemMetrics(SM_CYSCREEN);
    INPUT in = {};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = dwFlags | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    // The smallest absolute value the system maps onto the point itself.
    in.mi.dx = (pt.x * 65536 + cx - 1) / cx;
    in.mi.dy = (pt.y * 65536 + cy - 1) / cy;
    ::SendInput(1, &in, sizeof(INPUT));
    return pt;
}

// The same at a point of a window's client area.
inline POINT SendMouseOn(DWORD dwFlags, HWND hWnd, POINT ptClient)
{
    ::ClientToScreen(hWnd, &ptClient);
    return SendMouse(dwFlags, ptClient);
}

}  // namespace testsupport
