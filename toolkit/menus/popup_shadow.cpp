// The popup shadow: capture, gradient darkening with rounded ends, the dithered form for
// palette screens, and the cache of darkened strips.
//
// The combined shape (a popup joined to the button it opened from) is clipped to the two
// strips, and no strip pixel that lies on the owner's rectangle is darkened.
#include "toolkit/menus/popup_shadow.h"
#include "toolkit/core/bitmap.h"
#include "toolkit/theme/paint_manager.h"

#include <math.h>
#include <vector>

CExtPopupShadow::CExtPopupShadow()
    : m_pPixels(NULL), m_rcWindow(), m_rcOwner(), m_rcPopup(), m_nShadowSize(0), m_nDarkestPercent(0),
      m_nLightestPercent(0), m_nFlags(0)
{
    Reset();
}

CExtPopupShadow::~CExtPopupShadow() { Reset(); }

void CExtPopupShadow::ReleaseBitmaps()
{
    m_bmpDarkRight.DeleteObject();
    m_bmpDarkBottom.DeleteObject();
    m_bmpCapturedRight.DeleteObject();
    m_bmpCapturedBottom.DeleteObject();
    m_pPixels = NULL;
}

void CExtPopupShadow::Reset()
{
    ReleaseBitmaps();
    ::SetRectEmpty(&m_rcWindow);
    ::SetRectEmpty(&m_rcOwner);
    ::SetRectEmpty(&m_rcPopup);
    m_rgnClip.DeleteObject();
    m_nFlags &= ~(__FLAG_KEEP_CACHE | __FLAG_TINT);
}

int CExtPopupShadow::StripPercent(int i, int nSize, int nDarkest, int nLightest)
{
    return nDarkest + i * (nLightest - nDarkest) / nSize;
}

int CExtPopupShadow::CornerPercent(int i, int j, int nSize, int nDarkest, int nLightest)
{
    if (i * i + j * j > nSize * nSize)
        return -1;
    return (int)sqrt((double)(i * i + j * j)) * (nLightest - nDarkest) / nSize + nDarkest;
}

DWORD CExtPopupShadow::DarkenPixel(DWORD dwPixel, int nPercent, COLORREF clrTint)
{
    int ch[3] = {(int)((dwPixel >> 16) & 0xFF), (int)((dwPixel >> 8) & 0xFF), (int)(dwPixel & 0xFF)};  // r g b
    for (int k = 0; k < 3; k++)
    {
        int f = nPercent;
        if (clrTint != COLORREF(-1))
        {
            const int t[3] = {GetRValue(clrTint), GetGValue(clrTint), GetBValue(clrTint)};
            f = ::MulDiv(100 - nPercent, t[k], 255) + nPercent;
            if (f > 100)
                f = 100;
        }
        ch[k] = ch[k] * f / 100;
    }
    return (DWORD)((ch[0] << 16) | (ch[1] << 8) | ch[2]);
}

namespace {

// A window of this thread whose pending repaint was narrowed to the strips, with the rest
// of its update region (client coordinates) to be given back.
struct NarrowedPaint
{
    HWND hWnd;
    HRGN hRgnRest;
};

struct StripPaintWalk
{
    HRGN hRgnStrips;  // screen coordinates
    RECT rcBounds;
    std::vector<NarrowedPaint> narrowed;
    std::vector<HWND> tops;
};

bool ReachesStrips(HWND hWnd, const StripPaintWalk& walk)
{
    RECT rc, rcX;
    return ::IsWindowVisible(hWnd) && ::GetWindowRect(hWnd, &rc) && ::IntersectRect(&rcX, &rc, &walk.rcBounds);
}

// Leaves in the window's update region only the part inside the strips.
void NarrowPendingPaint(HWND hWnd, StripPaintWalk& walk)
{
    if (!ReachesStrips(hWnd, walk))
        return;
    HRGN hUpdate = ::CreateRectRgn(0, 0, 0, 0);
    if (::GetUpdateRgn(hWnd, hUpdate, FALSE) > NULLREGION)
    {
        POINT ptOrigin = {0, 0};
        ::ClientToScreen(hWnd, &ptOrigin);
        HRGN hRest = ::CreateRectRgn(0, 0, 0, 0);
        ::CombineRgn(hRest, walk.hRgnStrips, NULL, RGN_COPY);
        ::OffsetRgn(hRest, -ptOrigin.x, -ptOrigin.y);
        if (::CombineRgn(hRest, hUpdate, hRest, RGN_DIFF) > NULLREGION)
        {
            ::RedrawWindow(hWnd, NULL, hRest, RDW_VALIDATE | RDW_NOCHILDREN);
            walk.narrowed.push_back({hWnd, hRest});
        }
        else
            ::DeleteObject(hRest);
    }
    ::DeleteObject(hUpdate);
}

BOOL CALLBACK NarrowChildPaint(HWND hWnd, LPARAM lParam)
{
    NarrowPendingPaint(hWnd, *(StripPaintWalk*)lParam);
    return TRUE;
}

BOOL CALLBACK NarrowTopLevelPaint(HWND hWnd, LPARAM lParam)
{
    StripPaintWalk& walk = *(StripPaintWalk*)lParam;
    if (!ReachesStrips(hWnd, walk))
        return TRUE;
    walk.tops.push_back(hWnd);
    NarrowPendingPaint(hWnd, walk);
    ::EnumChildWindows(hWnd, NarrowChildPaint, lParam);
    return TRUE;
}

// The capture reads the screen as it is: where a window of this thread still waits to
// repaint under the strips (a menu that was just closed covered it), that part paints
// first. Only that part: the rest of the window repaints in the thread's own order, so
// a menu that replaces another shows without waiting for the windows under the old one.
void PaintPendingUnderStrips(const RECT& rcWindowScreen, int N)
{
    StripPaintWalk walk;
    walk.hRgnStrips =
        ::CreateRectRgn(rcWindowScreen.right, rcWindowScreen.top, rcWindowScreen.right + N, rcWindowScreen.bottom + N);
    HRGN hBottom = ::CreateRectRgn(rcWindowScreen.left, rcWindowScreen.bottom, rcWindowScreen.right + N,
                                   rcWindowScreen.bottom + N);
    ::CombineRgn(walk.hRgnStrips, walk.hRgnStrips, hBottom, RGN_OR);
    ::DeleteObject(hBottom);
    ::SetRect(&walk.rcBounds, rcWindowScreen.left, rcWindowScreen.top, rcWindowScreen.right + N,
              rcWindowScreen.bottom + N);
    ::EnumThreadWindows(::GetCurrentThreadId(), NarrowTopLevelPaint, (LPARAM)&walk);
    for (HWND hWnd : walk.tops)
        ::RedrawWindow(hWnd, NULL, NULL, RDW_UPDATENOW | RDW_ALLCHILDREN);
    for (const NarrowedPaint& n : walk.narrowed)
    {
        if (::IsWindow(n.hWnd))
            ::RedrawWindow(n.hWnd, NULL, n.hRgnRest, RDW_INVALIDATE | RDW_ERASE | RDW_NOCHILDREN);
        ::DeleteObject(n.hRgnRest);
    }
    ::DeleteObject(walk.hRgnStrips);
}

}  // namespace

bool CExtPopupShadow::CaptureFromScreen(const RECT& rcWindowScreen, int nShadowSize)
{
    ReleaseBitmaps();
    const int N = nShadowSize;
    const int W = rcWindowScreen.right - rcWindowScreen.left;
    const int H = rcWindowScreen.bottom - rcWindowScreen.top;
    if (N <= 0 || W <= 0 || H <= 0)
        return false;
    PaintPendingUnderStrips(rcWindowScreen, N);
    HDC hdcScreen = ::GetDC(NULL);
    if (hdcScreen == NULL)
        return false;
    bool bDone = false;
    HDC hdcMem = ::CreateCompatibleDC(hdcScreen);
    HBITMAP hRight = ::CreateCompatibleBitmap(hdcScreen, N, H + N);
    HBITMAP hBottom = ::CreateCompatibleBitmap(hdcScreen, W + N, N);
    if (hdcMem != NULL && hRight != NULL && hBottom != NULL)
    {
        HGDIOBJ hOld = ::SelectObject(hdcMem, hRight);
        ::BitBlt(hdcMem, 0, 0, N, H + N, hdcScreen, rcWindowScreen.right, rcWindowScreen.top, SRCCOPY);
        ::SelectObject(hdcMem, hBottom);
        ::BitBlt(hdcMem, 0, 0, W + N, N, hdcScreen, rcWindowScreen.left, rcWindowScreen.bottom, SRCCOPY);
        ::SelectObject(hdcMem, hOld);
        m_bmpCapturedRight.Attach(hRight);
        m_bmpCapturedBottom.Attach(hBottom);
        hRight = hBottom = NULL;
        bDone = true;
    }
    if (hRight != NULL)
        ::DeleteObject(hRight);
    if (hBottom != NULL)
        ::DeleteObject(hBottom);
    if (hdcMem != NULL)
        ::DeleteDC(hdcMem);
    ::ReleaseDC(NULL, hdcScreen);
    return bDone;
}

bool CExtPopupShadow::Paint(CExtPaintManager* pPM, CDC& dc, const RECT& rcWindow, const RECT& rcOwner,
                            const RECT& rcPopup, int nShadowSize, int nDarkestPercent, int nLightestPercent,
                            bool bKeepCache, bool bTint, bool bComposeInMemory, HWND hWndPopup, HWND hWndTearOff,
                            const RECT* pRcTearOff)
{
    (void)bComposeInMemory;
    (void)hWndPopup;
    (void)pRcTearOff;
    m_rcWindow = rcWindow;
    m_rcOwner = rcOwner;
    m_rcPopup = rcPopup;
    m_nShadowSize = nShadowSize;
    m_nDarkestPercent = nDarkestPercent;
    m_nLightestPercent = nLightestPercent;
    m_nFlags = (BYTE)((bKeepCache ? __FLAG_KEEP_CACHE : 0) | (bTint ? __FLAG_TINT : 0));
    if (nShadowSize <= 0 || ::IsRectEmpty(&rcWindow))
        return true;
    const int N = nShadowSize;
    const int W = rcWindow.right - rcWindow.left;
    const int H = rcWindow.bottom - rcWindow.top;
    if (!HasCapture())
    {
        CDC dcMem;
        if (!dcMem.CreateCompatibleDC(&dc))
            return false;
        m_bmpCapturedRight.CreateCompatibleBitmap(&dc, N, H + N);
        m_bmpCapturedBottom.CreateCompatibleBitmap(&dc, W + N, N);
        if (m_bmpCapturedRight.GetSafeHandle() == NULL || m_bmpCapturedBottom.GetSafeHandle() == NULL)
        {
            ReleaseBitmaps();
            return false;
        }
        CBitmap* pOld = dcMem.SelectObject(&m_bmpCapturedRight);
        dcMem.BitBlt(0, 0, N, H + N, &dc, rcWindow.right, rcWindow.top, SRCCOPY);
        dcMem.SelectObject(&m_bmpCapturedBottom);
        dcMem.BitBlt(0, 0, W + N, N, &dc, rcWindow.left, rcWindow.bottom, SRCCOPY);
        dcMem.SelectObject(pOld);
    }
    if (!::IsRectEmpty(&rcOwner) && !::IsRectEmpty(&rcPopup) && m_rgnClip.GetSafeHandle() == NULL)
    {
        CRgn rgnBottom;
        m_rgnClip.CreateRectRgn(rcWindow.right, rcWindow.top, rcWindow.right + N, rcWindow.bottom + N);
        rgnBottom.CreateRectRgn(rcWindow.left, rcWindow.bottom, rcWindow.right + N, rcWindow.bottom + N);
        m_rgnClip.CombineRgn(&m_rgnClip, &rgnBottom, RGN_OR);
    }
    return PaintSteps(pPM, dc, hWndTearOff != NULL);
}

bool CExtPopupShadow::PaintSteps(CExtPaintManager* pPM, CDC& dc, bool bTearOffRunning)
{
    if (m_rgnClip.GetSafeHandle() != NULL)
        dc.SelectClipRgn(&m_rgnClip);
    bool bResult = true;
    const int N = m_nShadowSize;
    const int W = m_rcWindow.right - m_rcWindow.left;
    const int H = m_rcWindow.bottom - m_rcWindow.top;
    if (HasCache() && !bTearOffRunning)
    {
        CDC dcMem;
        if (dcMem.CreateCompatibleDC(&dc))
        {
            CBitmap* pOld = dcMem.SelectObject(&m_bmpDarkRight);
            dc.BitBlt(m_rcWindow.right, m_rcWindow.top, N, H + N, &dcMem, 0, 0, SRCCOPY);
            dcMem.SelectObject(&m_bmpDarkBottom);
            dc.BitBlt(m_rcWindow.left, m_rcWindow.bottom, W + N, N, &dcMem, 0, 0, SRCCOPY);
            dcMem.SelectObject(pOld);
        }
    }
    else if (CExtPaintManager::GetScreenBitsPerPixel() <= 8)
        bResult = ComposeDithered(dc);
    else
        bResult = ComposeGradient(pPM, dc);
    if (m_rgnClip.GetSafeHandle() != NULL)
        dc.SelectClipRgn(NULL);
    return bResult;
}

bool CExtPopupShadow::ComposeGradient(CExtPaintManager* pPM, CDC& dc)
{
    const int N = m_nShadowSize;
    const int W = m_rcWindow.right - m_rcWindow.left;
    const int H = m_rcWindow.bottom - m_rcWindow.top;
    const int CX = W + N, CY = H + N;
    void* pBits = NULL;
    HBITMAP hDib = CreateDib32(dc.GetSafeHdc(), CX, CY, &pBits);
    if (hDib == NULL)
        return false;
    m_pPixels = (COLORREF*)pBits;
    CDC dcDib, dcSrc;
    dcDib.CreateCompatibleDC(&dc);
    dcSrc.CreateCompatibleDC(&dc);
    HGDIOBJ hOldDib = ::SelectObject(dcDib.GetSafeHdc(), hDib);
    CBitmap* pOldSrc = dcSrc.SelectObject(&m_bmpCapturedRight);
    dcDib.BitBlt(W, 0, N, CY, &dcSrc, 0, 0, SRCCOPY);
    dcSrc.SelectObject(&m_bmpCapturedBottom);
    dcDib.BitBlt(0, H, CX, N, &dcSrc, 0, 0, SRCCOPY);
    dcSrc.SelectObject(pOldSrc);
    ::GdiFlush();

    COLORREF clrTint = COLORREF(-1);
    if ((m_nFlags & __FLAG_TINT) != 0 && pPM != NULL)
        clrTint = pPM->GetLunaDerivedColor();
    const int D = m_nDarkestPercent, L = m_nLightestPercent;
    DWORD* pPx = (DWORD*)pBits;
    // Where the popup is combined with its owner, no shadow falls on the owner's area,
    // so that popup and button read as one shape.
    const bool bCombined = !::IsRectEmpty(&m_rcOwner) && !::IsRectEmpty(&m_rcPopup);
    auto darken = [&](int x, int y, int nPercent) {
        if (nPercent < 0)
            return;
        if (bCombined)
        {
            POINT pt = {m_rcWindow.left + x, m_rcWindow.top + y};
            if (::PtInRect(&m_rcOwner, pt))
                return;
        }
        DWORD& px = pPx[y * CX + x];
        px = DarkenPixel(px, nPercent, clrTint);
    };
    // The right strip, with its top end and the bottom-right square rounded.
    for (int x = W; x < CX; x++)
    {
        const int i = x - W;
        for (int y = 0; y < CY; y++)
        {
            if (y >= H)
                darken(x, y, CornerPercent(i, y - H, N, D, L));
            else if (y < N)
                darken(x, y, CornerPercent(i, N - 1 - y, N, D, L));
            else
                darken(x, y, StripPercent(i, N, D, L));
        }
    }
    // The bottom strip up to the square, with its left end rounded.
    for (int y = H; y < CY; y++)
    {
        const int i = y - H;
        for (int x = 0; x < W; x++)
        {
            if (x < N)
                darken(x, y, CornerPercent(i, N - 1 - x, N, D, L));
            else
                darken(x, y, StripPercent(i, N, D, L));
        }
    }
    dc.BitBlt(m_rcWindow.right, m_rcWindow.top, N, CY, &dcDib, W, 0, SRCCOPY);
    dc.BitBlt(m_rcWindow.left, m_rcWindow.bottom, CX, N, &dcDib, 0, H, SRCCOPY);
    if ((m_nFlags & __FLAG_KEEP_CACHE) != 0)
    {
        m_bmpDarkRight.DeleteObject();
        m_bmpDarkBottom.DeleteObject();
        if (m_bmpDarkRight.CreateCompatibleBitmap(&dc, N, CY) && m_bmpDarkBottom.CreateCompatibleBitmap(&dc, CX, N))
        {
            CBitmap* pOld = dcSrc.SelectObject(&m_bmpDarkRight);
            dcSrc.BitBlt(0, 0, N, CY, &dcDib, W, 0, SRCCOPY);
            dcSrc.SelectObject(&m_bmpDarkBottom);
            dcSrc.BitBlt(0, 0, CX, N, &dcDib, 0, H, SRCCOPY);
            dcSrc.SelectObject(pOld);
        }
        else
        {
            m_bmpDarkRight.DeleteObject();
            m_bmpDarkBottom.DeleteObject();
        }
    }
    ::SelectObject(dcDib.GetSafeHdc(), hOldDib);
    ::DeleteObject(hDib);
    m_pPixels = NULL;
    return true;
}

bool CExtPopupShadow::ComposeDithered(CDC& dc)
{
    static const WORD g_pattern[8] = {0x55, 0xFF, 0xAA, 0xFF, 0x55, 0xFF, 0xAA, 0xFF};
    CBitmap bmpPattern;
    if (!bmpPattern.CreateBitmap(8, 8, 1, 1, g_pattern))
        return false;
    CBrush brush;
    if (!brush.CreatePatternBrush(&bmpPattern))
        return false;
    const int N = m_nShadowSize;
    const int W = m_rcWindow.right - m_rcWindow.left;
    const int H = m_rcWindow.bottom - m_rcWindow.top;
    CBrush* pOld = dc.SelectObject(&brush);
    dc.PatBlt(m_rcWindow.right, m_rcWindow.top, N, H + N, 0x00A000C9);
    dc.PatBlt(m_rcWindow.left, m_rcWindow.bottom, W, N, 0x00A000C9);
    dc.SelectObject(pOld);
    return true;
}
