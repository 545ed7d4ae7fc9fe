// How a CExtBitmap reaches a device context: stretched drawing, alpha blending (the
// platform's AlphaBlend when present, else computed here), nine-part skins and the
// conversion to a window region.
#include "framework/framework.h"
#include "toolkit/core/bitmap.h"
#include "toolkit/core/bitmap_platform.h"

#include <functional>
#include <string.h>

namespace {

inline bool IsRectEmptyRect(const RECT& rc)
{
    return rc.right <= rc.left || rc.bottom <= rc.top;
}

inline RECT MakeRect(LONG l, LONG t, LONG r, LONG b)
{
    RECT rc = {l, t, r, b};
    return rc;
}

// The stretch mode of the skin operations, restored on the way out.
class StretchModeKeeper
{
public:
    StretchModeKeeper(HDC hDC, bool bHalftone) : m_hDC(hDC)
    {
        m_nOld = ::GetStretchBltMode(hDC);
        bool bNT = (CExtBitmapPlatform::GetOsFlags() & CExtBitmapPlatform::__OS_NT) != 0;
        ::SetStretchBltMode(hDC, (bHalftone && bNT) ? HALFTONE : COLORONCOLOR);
    }
    ~StretchModeKeeper()
    {
        if (m_nOld != 0)
            ::SetStretchBltMode(m_hDC, m_nOld);
    }

private:
    HDC m_hDC;
    int m_nOld;
};

typedef std::function<void(const RECT& rcDst, const RECT& rcSrc)> PartPainter;

// Tiles rcSrc over rcDst: copies of the source size side by side from the top-left;
// the last copy in a direction is cut, its source shortened by as much. A direction
// that is not tiled stretches each copy to the destination's extent instead.
void TilePart(const RECT& rcDst, const RECT& rcSrc, bool bTileH, bool bTileV, const PartPainter& paint)
{
    if (IsRectEmptyRect(rcDst) || IsRectEmptyRect(rcSrc))
        return;
    const LONG cxSrc = rcSrc.right - rcSrc.left, cySrc = rcSrc.bottom - rcSrc.top;
    const LONG cxStep = bTileH ? cxSrc : (rcDst.right - rcDst.left);
    const LONG cyStep = bTileV ? cySrc : (rcDst.bottom - rcDst.top);
    for (LONG y = rcDst.top; y < rcDst.bottom; y += cyStep)
    {
        LONG yEnd = y + cyStep;
        RECT src = rcSrc;
        if (yEnd > rcDst.bottom)
        {
            if (bTileV)
                src.bottom -= yEnd - rcDst.bottom;
            yEnd = rcDst.bottom;
        }
        for (LONG x = rcDst.left; x < rcDst.right; x += cxStep)
        {
            LONG xEnd = x + cxStep;
            RECT s = src;
            if (xEnd > rcDst.right)
            {
                if (bTileH)
                    s.right -= xEnd - rcDst.right;
                xEnd = rcDst.right;
            }
            RECT d = MakeRect(x, y, xEnd, yEnd);
            if (!IsRectEmptyRect(d) && !IsRectEmptyRect(s))
                paint(d, s);
        }
    }
}

// The nine parts of a frame image. nExtraDst and nExtraSrc make the top row taller.
void PaintNineParts(const RECT& D, const RECT& S, const RECT& P, int nExtraDst, int nExtraSrc, int eMethod,
                    bool bDrawMiddle, const PartPainter& paint)
{
    const bool bTileTB = eMethod == 3 || eMethod == 5;
    const bool bTileLR = eMethod == 4 || eMethod == 5;
    auto part = [&](const RECT& d, const RECT& s) {
        if (!IsRectEmptyRect(d) && !IsRectEmptyRect(s))
            paint(d, s);
    };
    const LONG dTop = D.top + P.top + nExtraDst, sTop = S.top + P.top + nExtraSrc;
    const LONG dBottom = D.bottom - P.bottom, sBottom = S.bottom - P.bottom;
    const LONG dLeft = D.left + P.left, sLeft = S.left + P.left;
    const LONG dRight = D.right - P.right, sRight = S.right - P.right;

    if (P.top > 0 || nExtraDst > 0)
    {
        // corners of the top row, the bands below them, and the top edge
        part(MakeRect(D.left, D.top, dLeft, D.top + P.top), MakeRect(S.left, S.top, sLeft, S.top + P.top));
        part(MakeRect(dRight, D.top, D.right, D.top + P.top), MakeRect(sRight, S.top, S.right, S.top + P.top));
        if (nExtraDst > 0)
        {
            part(MakeRect(D.left, D.top + P.top, dLeft, dTop), MakeRect(S.left, S.top + P.top, sLeft, sTop));
            part(MakeRect(dRight, D.top + P.top, D.right, dTop), MakeRect(sRight, S.top + P.top, S.right, sTop));
        }
        RECT d = MakeRect(dLeft, D.top, dRight, dTop), s = MakeRect(sLeft, S.top, sRight, sTop);
        if (bTileTB)
            TilePart(d, s, true, false, paint);
        else
            part(d, s);
    }
    // bottom row
    part(MakeRect(D.left, dBottom, dLeft, D.bottom), MakeRect(S.left, sBottom, sLeft, S.bottom));
    part(MakeRect(dRight, dBottom, D.right, D.bottom), MakeRect(sRight, sBottom, S.right, S.bottom));
    {
        RECT d = MakeRect(dLeft, dBottom, dRight, D.bottom), s = MakeRect(sLeft, sBottom, sRight, S.bottom);
        if (bTileTB)
            TilePart(d, s, true, false, paint);
        else
            part(d, s);
    }
    // left and right edges
    {
        RECT d = MakeRect(D.left, dTop, dLeft, dBottom), s = MakeRect(S.left, sTop, sLeft, sBottom);
        if (bTileLR)
            TilePart(d, s, false, true, paint);
        else
            part(d, s);
        d = MakeRect(dRight, dTop, D.right, dBottom);
        s = MakeRect(sRight, sTop, S.right, sBottom);
        if (bTileLR)
            TilePart(d, s, false, true, paint);
        else
            part(d, s);
    }
    if (bDrawMiddle)
    {
        RECT d = MakeRect(dLeft, dTop, dRight, dBottom), s = MakeRect(sLeft, sTop, sRight, sBottom);
        switch (eMethod)
        {
        case 3:
            TilePart(d, s, true, false, paint);
            break;
        case 4:
            TilePart(d, s, false, true, paint);
            break;
        case 5:
            TilePart(d, s, true, true, paint);
            break;
        default:
            part(d, s);
            break;
        }
    }
}

}  // namespace

// ---- plain drawing ---------------------------------------------------------------------

int CExtBitmap::DrawNative(HDC hDC, int x, int y, int cx, int cy, int xSrc, int ySrc, int cxSrc, int cySrc,
                           DWORD dwRop) const
{
    if (IsEmpty() || hDC == NULL)
        return -1;
    return ::StretchDIBits(hDC, x, y, cx, cy, xSrc, ySrc, cxSrc, cySrc, GetBitsPtr(m_pImageBuffer),
                           (const BITMAPINFO*)m_pImageBuffer, DIB_RGB_COLORS, dwRop);
}

int CExtBitmap::Draw(HDC hDC, int x, int y, int cx, int cy, int xSrc, int ySrc, int cxSrc, int cySrc,
                     DWORD dwRop) const
{
    if (IsEmpty() || hDC == NULL)
        return -1;
    // The rows are bottom-up. Both rectangles are given mirrored (the destination from
    // its last row up, the source from the top-down row ySrc down), which the platform
    // turns into an upright copy of the top-down source rectangle; the destination is
    // placed through the window origin so that its mirrored start is simply cy - 1.
    const int nHeight = m_pImageBuffer->biHeight;
    POINT ptOld = {0, 0};
    ::OffsetWindowOrgEx(hDC, -x, -y, &ptOld);
    const int nResult = DrawNative(hDC, 0, cy - 1, cx, -cy, xSrc, nHeight - ySrc + 1, cxSrc, -cySrc, dwRop);
    ::OffsetWindowOrgEx(hDC, x, y, NULL);
    return nResult;
}

int CExtBitmap::Draw(HDC hDC, const RECT& rcDst, const RECT& rcSrc, DWORD dwRop) const
{
    if (IsEmpty() || hDC == NULL)
        return -1;
    return Draw(hDC, rcDst.left, rcDst.top, rcDst.right - rcDst.left, rcDst.bottom - rcDst.top, rcSrc.left,
                rcSrc.top, rcSrc.right - rcSrc.left, rcSrc.bottom - rcSrc.top, dwRop);
}

int CExtBitmap::DrawWhole(HDC hDC, int x, int y, int cx, int cy, DWORD dwRop) const
{
    if (IsEmpty() || hDC == NULL)
        return -1;
    return Draw(hDC, x, y, cx, cy, 0, 0, m_pImageBuffer->biWidth, m_pImageBuffer->biHeight, dwRop);
}

// ---- alpha blending --------------------------------------------------------------------

int CExtBitmap::AlphaBlend(HDC hDC, int x, int y, int cx, int cy, int xSrc, int ySrc, int cxSrc, int cySrc,
                           BYTE nSCA) const
{
    if (IsEmpty() || hDC == NULL)
        return -1;
    if (m_pImageBuffer->biBitCount != 32 || GetMask(m_pImageBuffer, 3) == 0)
        return Draw(hDC, x, y, cx, cy, xSrc, ySrc, cxSrc, cySrc, SRCCOPY);
    if (cx <= 0 || cy <= 0)
        return -1;

    CExtBitmap bmp;
    if (!bmp.AssignFrom(*this, false) || bmp.IsEmpty() || !bmp.Make32(false))
        return -1;

    CExtBitmapPlatform::PFN_ALPHABLEND pfnAlphaBlend = CExtBitmapPlatform::GetAlphaBlend();
    if (pfnAlphaBlend != NULL)
    {
        bool bDone = false;
        CExtBitmap bmpPremultiplied(bmp);
        bmpPremultiplied.PremultiplyAlpha(true);
        HDC hMemDC = ::CreateCompatibleDC(hDC);
        if (hMemDC != NULL && !bmpPremultiplied.IsEmpty())
        {
            HBITMAP hBmp = bmpPremultiplied.CreateHBITMAP(hMemDC, false);
            if (hBmp != NULL)
            {
                HGDIOBJ hOld = ::SelectObject(hMemDC, hBmp);
                BLENDFUNCTION bf = {AC_SRC_OVER, 0, nSCA, AC_SRC_ALPHA};
                bDone = pfnAlphaBlend(hDC, x, y, cx, cy, hMemDC, xSrc, ySrc, cxSrc, cySrc, bf) != FALSE;
                ::SelectObject(hMemDC, hOld);
                ::DeleteObject(hBmp);
            }
            ::DeleteDC(hMemDC);
        }
        if (bDone)
            return 0;
    }

    // The computed blend: the destination is read into a section, the source is
    // stretched over it pixel by pixel, the result written back.
    HDC hMemDC = ::CreateCompatibleDC(hDC);
    if (hMemDC == NULL)
        return -1;
    void* pvDst = NULL;
    HBITMAP hDst = CreateDib32(hDC, cx, cy, &pvDst);
    if (hDst == NULL)
    {
        ::DeleteDC(hMemDC);
        return -1;
    }
    HGDIOBJ hOld = ::SelectObject(hMemDC, hDst);
    ::BitBlt(hMemDC, 0, 0, cx, cy, hDC, x, y, SRCCOPY);
    ::GdiFlush();
    LPDWORD pDst = (LPDWORD)pvDst;
    const int nW = bmp.m_pImageBuffer->biWidth, nH = bmp.m_pImageBuffer->biHeight;
    const ULONG nStride = GetStride(nW, 32);
    for (int j = 0; j < cy; j++)
    {
        int sy = ySrc + (int)((LONGLONG)j * cySrc / cy);
        for (int i = 0; i < cx; i++)
        {
            int sx = xSrc + (int)((LONGLONG)i * cxSrc / cx);
            DWORD& d = pDst[j * cx + i];
            if (sx < 0 || sy < 0 || sx >= nW || sy >= nH)
                continue;
            const BYTE* s = GetScanLine(bmp.m_pImageBuffer, nH - 1 - sy, nStride) + sx * 4;
            int a = s[3];
            // the constant alpha scales the colour and the coverage alike, as the
            // platform's blend does
            int nCover = (nSCA != 255) ? ::MulDiv(nSCA, a, 255) : a;
            BYTE out[3];
            for (int c = 0; c < 3; c++)
            {
                int sc = ::MulDiv(a, s[c], 255);
                if (nSCA != 255)
                    sc = ::MulDiv(nSCA, sc, 255);
                int dc = (int)((d >> (8 * c)) & 0xFF);
                int v = ::MulDiv(255 - nCover, dc, 255) + sc;
                out[c] = (BYTE)(v > 255 ? 255 : v);
            }
            d = (DWORD)out[0] | ((DWORD)out[1] << 8) | ((DWORD)out[2] << 16);
        }
    }
    ::BitBlt(hDC, x, y, cx, cy, hMemDC, 0, 0, SRCCOPY);
    ::SelectObject(hMemDC, hOld);
    ::DeleteObject(hDst);
    ::DeleteDC(hMemDC);
    return 0;
}

int CExtBitmap::AlphaBlend(HDC hDC, const RECT& rcDst, const RECT& rcSrc, BYTE nSCA) const
{
    if (IsEmpty() || hDC == NULL)
        return -1;
    return AlphaBlend(hDC, rcDst.left, rcDst.top, rcDst.right - rcDst.left, rcDst.bottom - rcDst.top, rcSrc.left,
                      rcSrc.top, rcSrc.right - rcSrc.left, rcSrc.bottom - rcSrc.top, nSCA);
}

int CExtBitmap::AlphaBlendWhole(HDC hDC, const RECT& rcDst, BYTE nSCA) const
{
    if (IsEmpty() || hDC == NULL)
        return -1;
    RECT rcSrc = {0, 0, m_pImageBuffer->biWidth, m_pImageBuffer->biHeight};
    return AlphaBlend(hDC, rcDst, rcSrc, nSCA);
}

int CExtBitmap::AlphaBlendWholeAt(HDC hDC, int x, int y, int cx, int cy, BYTE nSCA) const
{
    RECT rcDst = {x, y, x + cx, y + cy};
    return AlphaBlendWhole(hDC, rcDst, nSCA);
}

HBITMAP CExtBitmap::CreateDIBSection32(HDC hDC, void** ppBits, COLORREF clrFill) const
{
    if (ppBits != NULL)
        *ppBits = NULL;
    if (IsEmpty() || hDC == NULL)
        return NULL;
    HDC hMemDC = ::CreateCompatibleDC(hDC);
    if (hMemDC == NULL)
        return NULL;
    const int cx = m_pImageBuffer->biWidth, cy = m_pImageBuffer->biHeight;
    void* pBits = NULL;
    HBITMAP hBmp = CreateDib32(hMemDC, cx, cy, &pBits, true);
    if (hBmp == NULL)
    {
        ::DeleteDC(hMemDC);
        return NULL;
    }
    HGDIOBJ hOld = ::SelectObject(hMemDC, hBmp);
    if (clrFill != COLORREF(-1L))
    {
        RECT rc = {0, 0, cx, cy};
        COLORREF clrOld = ::SetBkColor(hMemDC, clrFill);
        ::ExtTextOut(hMemDC, 0, 0, ETO_OPAQUE, &rc, NULL, 0, NULL);
        ::SetBkColor(hMemDC, clrOld);
    }
    AlphaBlend(hMemDC, 0, 0, cx, cy, 0, 0, cx, cy, 255);
    ::SelectObject(hMemDC, hOld);
    ::DeleteDC(hMemDC);
    ::GdiFlush();
    if (ppBits != NULL)
        *ppBits = pBits;
    return hBmp;
}

HBITMAP CExtBitmap::CreateDIBSection32(void** ppBits, COLORREF clrFill) const
{
    if (ppBits != NULL)
        *ppBits = NULL;
    if (IsEmpty())
        return NULL;
    HDC hScreen = ::GetDC(NULL);
    HDC hMemDC = hScreen != NULL ? ::CreateCompatibleDC(hScreen) : NULL;
    HBITMAP hBmp = (hMemDC != NULL) ? CreateDIBSection32(hMemDC, ppBits, clrFill) : NULL;
    if (hMemDC != NULL)
        ::DeleteDC(hMemDC);
    if (hScreen != NULL)
        ::ReleaseDC(NULL, hScreen);
    return hBmp;
}

// ---- skins -----------------------------------------------------------------------------

bool CExtBitmap::DrawSkinPartsEx(HDC hDC, const RECT& rcDst, const RECT& rcSrc, const RECT& rcPadding,
                                 int nExtraDst, int nExtraSrc, bool bDrawMiddle, bool bHalftone,
                                 DWORD dwRop) const
{
    if (IsEmpty() || hDC == NULL)
        return false;
    StretchModeKeeper keeper(hDC, bHalftone);
    PaintNineParts(rcDst, rcSrc, rcPadding, nExtraDst, nExtraSrc, 2, bDrawMiddle,
                   [&](const RECT& d, const RECT& s) { Draw(hDC, d, s, dwRop); });
    return true;
}

bool CExtBitmap::DrawSkinParts(HDC hDC, const RECT& rcDst, const RECT& rcSrc, const RECT& rcPadding,
                               int eDrawMethod, bool bDrawMiddle, bool bHalftone, DWORD dwRop) const
{
    if (eDrawMethod == __EDM_HOLLOW)
        return true;
    if (IsEmpty() || hDC == NULL)
        return false;
    StretchModeKeeper keeper(hDC, bHalftone);
    PartPainter paint = [&](const RECT& d, const RECT& s) {
        if (::RectVisible(hDC, &d))
            Draw(hDC, d, s, dwRop);
    };
    if (eDrawMethod == __EDM_STRETCH)
    {
        if (!IsRectEmptyRect(rcDst) && !IsRectEmptyRect(rcSrc))
            paint(rcDst, rcSrc);
        return true;
    }
    if (eDrawMethod < __EDM_NINE_STRETCH || eDrawMethod > __EDM_NINE_TILE)
        return false;
    PaintNineParts(rcDst, rcSrc, rcPadding, 0, 0, eDrawMethod, bDrawMiddle, paint);
    return true;
}

bool CExtBitmap::AlphaBlendSkinParts(HDC hDC, const RECT& rcDst, const RECT& rcSrc, const RECT& rcPadding,
                                     int eDrawMethod, bool bDrawMiddle, bool bHalftone, BYTE nSCA) const
{
    if (eDrawMethod == __EDM_HOLLOW)
        return true;
    if (IsEmpty() || hDC == NULL)
        return false;
    PartPainter paint = [&](const RECT& d, const RECT& s) {
        if (::RectVisible(hDC, &d))
            AlphaBlend(hDC, d, s, nSCA);
    };
    if (eDrawMethod == __EDM_STRETCH)
    {
        // the whole-image form keeps the DC's stretch mode
        if (!IsRectEmptyRect(rcDst) && !IsRectEmptyRect(rcSrc))
            paint(rcDst, rcSrc);
        return true;
    }
    if (eDrawMethod < __EDM_NINE_STRETCH || eDrawMethod > __EDM_NINE_TILE)
        return false;
    StretchModeKeeper keeper(hDC, bHalftone);
    PaintNineParts(rcDst, rcSrc, rcPadding, 0, 0, eDrawMethod, bDrawMiddle, paint);
    return true;
}

bool CExtBitmap::DrawSkinPartsWhole(HDC hDC, const RECT& rcDst, const RECT& rcPadding, int eDrawMethod,
                                    bool bDrawMiddle, bool bHalftone, DWORD dwRop) const
{
    if (eDrawMethod == __EDM_HOLLOW)
        return true;
    if (IsEmpty() || hDC == NULL)
        return false;
    RECT rcSrc = {0, 0, m_pImageBuffer->biWidth, m_pImageBuffer->biHeight};
    return DrawSkinParts(hDC, rcDst, rcSrc, rcPadding, eDrawMethod, bDrawMiddle, bHalftone, dwRop);
}

bool CExtBitmap::AlphaBlendSkinPartsWhole(HDC hDC, const RECT& rcDst, const RECT& rcPadding, int eDrawMethod,
                                          bool bDrawMiddle, bool bHalftone, BYTE nSCA) const
{
    if (eDrawMethod == __EDM_HOLLOW)
        return true;
    if (IsEmpty() || hDC == NULL)
        return false;
    RECT rcSrc = {0, 0, m_pImageBuffer->biWidth, m_pImageBuffer->biHeight};
    return AlphaBlendSkinParts(hDC, rcDst, rcSrc, rcPadding, eDrawMethod, bDrawMiddle, bHalftone, nSCA);
}

// ---- regions ---------------------------------------------------------------------------

HRGN CExtBitmap::GenerateRgn(COLORREF clrTransparent, COLORREF clrTolerance) const
{
    if (IsEmpty())
        return NULL;
    if (m_pImageBuffer->biBitCount != 32)
    {
        CExtBitmap bmp32;
        if (!bmp32.AssignFrom(*this, false) || !bmp32.Make32(false))
            return NULL;
        return bmp32.GenerateRgn(clrTransparent, clrTolerance);
    }
    const CExtColorKeyRange transparent(clrTransparent, clrTolerance);

    const DWORD nGrow = 200;
    DWORD nCapacity = nGrow;
    HGLOBAL hData = ::GlobalAlloc(GMEM_MOVEABLE, sizeof(RGNDATAHEADER) + sizeof(RECT) * nCapacity);
    if (hData == NULL)
        return NULL;
    RGNDATA* pData = (RGNDATA*)::GlobalLock(hData);
    if (pData == NULL)
    {
        ::GlobalFree(hData);
        return NULL;
    }
    auto resetHeader = [&]() {
        pData->rdh.dwSize = sizeof(RGNDATAHEADER);
        pData->rdh.iType = RDH_RECTANGLES;
        pData->rdh.nCount = 0;
        pData->rdh.nRgnSize = 0;
        ::SetRect(&pData->rdh.rcBound, 0x7FFFFFFF, 0x7FFFFFFF, 0, 0);
    };
    resetHeader();
    HRGN hResult = NULL;
    bool bFailed = false;
    auto flush = [&]() {
        HRGN hPart = ::ExtCreateRegion(NULL, sizeof(RGNDATAHEADER) + sizeof(RECT) * pData->rdh.nCount, pData);
        if (hPart == NULL)
        {
            bFailed = true;
            return;
        }
        if (hResult == NULL)
            hResult = hPart;
        else
        {
            ::CombineRgn(hResult, hResult, hPart, RGN_OR);
            ::DeleteObject(hPart);
        }
        resetHeader();
    };

    const int nW = m_pImageBuffer->biWidth, nH = m_pImageBuffer->biHeight;
    const ULONG nStride = GetStride(nW, 32);
    for (int y = 0; y < nH && !bFailed; y++)
    {
        const BYTE* pRow = GetScanLine(m_pImageBuffer, nH - 1 - y, nStride);
        int x = 0;
        while (x < nW && !bFailed)
        {
            auto opaque = [&](int px) {
                const BYTE* p = pRow + px * 4;
                return !transparent.Contains(p[2], p[1], p[0]);
            };
            while (x < nW && !opaque(x))
                x++;
            if (x >= nW)
                break;
            int x0 = x;
            while (x < nW && opaque(x))
                x++;
            if (pData->rdh.nCount >= nCapacity)
            {
                ::GlobalUnlock(hData);
                HGLOBAL hNew = ::GlobalReAlloc(hData, sizeof(RGNDATAHEADER) + sizeof(RECT) * (nCapacity + nGrow),
                                               GMEM_MOVEABLE);
                if (hNew == NULL)
                {
                    pData = (RGNDATA*)::GlobalLock(hData);
                    bFailed = true;
                    break;
                }
                hData = hNew;
                nCapacity += nGrow;
                pData = (RGNDATA*)::GlobalLock(hData);
            }
            RECT* pRects = (RECT*)pData->Buffer;
            ::SetRect(&pRects[pData->rdh.nCount], x0, y, x, y + 1);
            RECT& rcB = pData->rdh.rcBound;
            if (x0 < rcB.left)
                rcB.left = x0;
            if (y < rcB.top)
                rcB.top = y;
            if (x > rcB.right)
                rcB.right = x;
            if (y + 1 > rcB.bottom)
                rcB.bottom = y + 1;
            pData->rdh.nCount++;
            if (pData->rdh.nCount == 2000)
                flush();
        }
    }
    if (!bFailed && pData->rdh.nCount > 0)
        flush();
    ::GlobalUnlock(hData);
    ::GlobalFree(hData);
    if (bFailed)
    {
        if (hResult != NULL)
            ::DeleteObject(hResult);
        return NULL;
    }
    if (hResult == NULL)
        hResult = ::CreateRectRgn(0, 0, 0, 0);
    return hResult;
}
