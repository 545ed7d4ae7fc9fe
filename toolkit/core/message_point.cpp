// The point a mouse message carries, in one place for every handler that judges a hit.
#include "toolkit/core/message_point.h"

namespace {

bool CarriesClientPoint(UINT nMessage)
{
    return nMessage >= WM_MOUSEFIRST && nMessage <= WM_MOUSELAST && nMessage != WM_MOUSEWHEEL &&
           nMessage != WM_MOUSEHWHEEL;
}

bool CarriesScreenPoint(UINT nMessage, LPARAM lParam)
{
    if (nMessage == WM_MOUSEWHEEL || nMessage == WM_MOUSEHWHEEL || nMessage == WM_NCHITTEST)
        return true;
    if (nMessage >= WM_NCMOUSEMOVE && nMessage <= WM_NCXBUTTONDBLCLK)
        return true;
    // A context menu asked for by the keyboard carries (-1, -1), no point.
    return nMessage == WM_CONTEXTMENU && lParam != (LPARAM)-1;
}

CPoint PointOf(LPARAM lParam)
{
    // Signed: a point left of or above the window (a captured drag) is negative.
    return CPoint((int)(short)LOWORD(lParam), (int)(short)HIWORD(lParam));
}

}  // namespace

CPoint MessagePoint(HWND hWnd, UINT nMessage, LPARAM lParam)
{
    if (CarriesClientPoint(nMessage))
        return PointOf(lParam);
    // A screen point: the message's own, or where the message the thread took last was made.
    CPoint pt = PointOf(CarriesScreenPoint(nMessage, lParam) ? lParam : (LPARAM)::GetMessagePos());
    if (hWnd != NULL)
        ::ScreenToClient(hWnd, &pt);
    return pt;
}
