// A command icon of one colour for the command tests: a screen-compatible bitmap of
// cx by cy filled with clr, handed over to the icon.
#pragma once
#include "framework/framework.h"
#include "toolkit/core/cmd_icon.h"

inline void MakeSolidIcon(CExtCmdIcon& icon, COLORREF clr, int cx = 16, int cy = 16) {
    HDC hScreen = ::GetDC(NULL);
    HBITMAP hBmp = ::CreateCompatibleBitmap(hScreen, cx, cy);
    HDC hDC = ::CreateCompatibleDC(hScreen);
    HGDIOBJ hOld = ::SelectObject(hDC, hBmp);
    HBRUSH hBrush = ::CreateSolidBrush(clr);
    RECT rc = {0, 0, cx, cy};
    ::FillRect(hDC, &rc, hBrush);
    ::DeleteObject(hBrush);
    ::SelectObject(hDC, hOld);
    ::DeleteDC(hDC);
    ::ReleaseDC(NULL, hScreen);
    icon.AssignFromHBITMAP(hBmp, COLORREF(-1L), NULL, false);
}
