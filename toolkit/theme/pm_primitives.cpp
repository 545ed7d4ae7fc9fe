// Drawing primitives shared by every theme: gradients (through msimg32 where it exists,
// in bands otherwise), the colour-keyed blit, clipping out child windows, pattern
// bitmaps, the radio dot, the check mark and rounded edge frames.
#include "toolkit/theme/paint_manager.h"

#include <utility>

namespace {

void FillSolid(HDC hDC, int x, int y, int cx, int cy, COLORREF clr, bool bBrush)
{
    RECT rc = {x, y, x + cx, y + cy};
    if (rc.left > rc.right)
        std::swap(rc.left, rc.right);
    if (rc.top > rc.bottom)
        std::swap(rc.top, rc.bottom);
    if (bBrush)
    {
        // A palette display dithers the brush to something near the colour.
        HBRUSH hBrush = ::CreateSolidBrush(clr);
        if (hBrush != NULL)
        {
            ::FillRect(hDC, &rc, hBrush);
            ::DeleteObject(hBrush);
        }
        return;
    }
    COLORREF clrOld = ::SetBkColor(hDC, clr);
    ::ExtTextOutA(hDC, 0, 0, ETO_OPAQUE, &rc, NULL, 0, NULL);
    ::SetBkColor(hDC, clrOld);
}

}  // namespace

int CExtPaintManager::GetDcBitsPerPixel(HDC hDC)
{
    if (hDC == NULL)
        return GetScreenBitsPerPixel();
    if (::GetObjectType(hDC) == OBJ_MEMDC)
    {
        HGDIOBJ hBmp = ::GetCurrentObject(hDC, OBJ_BITMAP);
        BITMAP bm;
        if (hBmp != NULL && ::GetObjectA(hBmp, sizeof(bm), &bm) == sizeof(bm) &&
            bm.bmBitsPixel > 1)
            return bm.bmBitsPixel * bm.bmPlanes;
    }
    return ::GetDeviceCaps(hDC, BITSPIXEL) * ::GetDeviceCaps(hDC, PLANES);
}

void CExtPaintManager::GradientFillRect(CDC& dc, const RECT& rcFill, COLORREF clr1,
                                        COLORREF clr2, bool bVertical, UINT nMaxStepCount)
{
    HDC hDC = dc.GetSafeHdc();
    CExtPaintManagerHolder& holder = g_CurrentPaintManager;
    if (holder.m_pfnMsImgGradientFill != NULL && (holder.m_nOsFlags1 & 0x20) != 0)
    {
        TRIVERTEX vert[2];
        const COLORREF clrFirst = bVertical ? clr2 : clr1;
        const COLORREF clrSecond = bVertical ? clr1 : clr2;
        vert[0].x = rcFill.left;
        vert[0].y = rcFill.top;
        vert[0].Red = (COLOR16)(GetRValue(clrFirst) << 8);
        vert[0].Green = (COLOR16)(GetGValue(clrFirst) << 8);
        vert[0].Blue = (COLOR16)(GetBValue(clrFirst) << 8);
        vert[0].Alpha = 0;
        vert[1].x = rcFill.right;
        vert[1].y = rcFill.bottom;
        vert[1].Red = (COLOR16)(GetRValue(clrSecond) << 8);
        vert[1].Green = (COLOR16)(GetGValue(clrSecond) << 8);
        vert[1].Blue = (COLOR16)(GetBValue(clrSecond) << 8);
        vert[1].Alpha = 0;
        GRADIENT_RECT gRect = {0, 1};
        holder.m_pfnMsImgGradientFill(hDC, vert, 2, &gRect, 1,
                                      bVertical ? GRADIENT_FILL_RECT_V : GRADIENT_FILL_RECT_H);
        return;
    }
    if (rcFill.left >= rcFill.right || rcFill.top >= rcFill.bottom)
        return;
    const int nExtent = bVertical ? (rcFill.bottom - rcFill.top) : (rcFill.right - rcFill.left);
    int nBands = (int)nMaxStepCount;
    if (nBands > nExtent)
        nBands = nExtent;
    const bool bLowColor = GetDcBitsPerPixel(hDC) <= 8;
    if (bLowColor && nBands > 0 && nExtent / nBands < 4)
        nBands = nExtent / 4;
    if (nBands <= 0)
        return;
    const int r1 = GetRValue(clr1), g1 = GetGValue(clr1), b1 = GetBValue(clr1);
    const int r2 = GetRValue(clr2), g2 = GetGValue(clr2), b2 = GetBValue(clr2);
    int nPrevEdge = bVertical ? rcFill.bottom : rcFill.left;
    for (int i = 0; i < nBands; i++)
    {
        const COLORREF clr = RGB((r2 * i + r1 * (nBands - i)) / nBands,
                                 (g2 * i + g1 * (nBands - i)) / nBands,
                                 (b2 * i + b1 * (nBands - i)) / nBands);
        if (bVertical)
        {
            int nTop = rcFill.bottom - ::MulDiv(i, nExtent, nBands) - 1;
            if (i == nBands - 1 || nTop < rcFill.top)
                nTop = rcFill.top;
            FillSolid(hDC, rcFill.left, nTop, rcFill.right - rcFill.left, nPrevEdge - nTop, clr,
                      bLowColor);
            nPrevEdge = nTop;
        }
        else
        {
            int nRight = rcFill.left + ::MulDiv(i, nExtent, nBands) + 1;
            if (i == nBands - 1 || nRight > rcFill.right)
                nRight = rcFill.right;
            FillSolid(hDC, nPrevEdge, rcFill.top, nRight - nPrevEdge, rcFill.bottom - rcFill.top,
                      clr, bLowColor);
            nPrevEdge = nRight;
        }
    }
}

void CExtPaintManager::GradientFillTwoPart(CDC& dc, const RECT& rcFill, COLORREF clr1,
                                           COLORREF clr2, COLORREF clr3, bool bVertical,
                                           int nNumerator, int nDenominator,
                                           UINT nMaxStepCount)
{
    RECT rcFirst = rcFill, rcSecond = rcFill;
    if (bVertical)
    {
        const int nSplit = ::MulDiv(rcFill.bottom - rcFill.top, nNumerator, nDenominator);
        rcFirst.bottom = rcFirst.top + nSplit;
        rcSecond.top = rcFirst.bottom;
        GradientFillRect(dc, rcFirst, clr2, clr1, true, nMaxStepCount);
        GradientFillRect(dc, rcSecond, clr3, clr2, true, nMaxStepCount);
    }
    else
    {
        const int nSplit = ::MulDiv(rcFill.right - rcFill.left, nNumerator, nDenominator);
        rcFirst.right = rcFirst.left + nSplit;
        rcSecond.left = rcFirst.right;
        GradientFillRect(dc, rcFirst, clr1, clr2, false, nMaxStepCount);
        GradientFillRect(dc, rcSecond, clr2, clr3, false, nMaxStepCount);
    }
}

void CExtPaintManager::TransparentBltByColor(HDC hDstDC, int nDstX, int nDstY, int nDstCX,
                                             int nDstCY, HDC hSrcDC, int nSrcX, int nSrcY,
                                             int nSrcCX, int nSrcCY, COLORREF clrTransparent)
{
    const bool bStretch = nDstCX >= 0 && nDstCY >= 0 && (nDstCX != nSrcCX || nDstCY != nSrcCY);
    if (nDstCX < 0)
        nDstCX = nSrcCX;
    if (nDstCY < 0)
        nDstCY = nSrcCY;
    if (nDstCX <= 0 || nDstCY <= 0)
        return;
    HDC hImageDC = ::CreateCompatibleDC(hDstDC);
    HDC hMaskDC = ::CreateCompatibleDC(hDstDC);
    HBITMAP hImage = ::CreateCompatibleBitmap(hDstDC, nDstCX, nDstCY);
    HBITMAP hMask = ::CreateBitmap(nDstCX, nDstCY, 1, 1, NULL);
    if (hImageDC != NULL && hMaskDC != NULL && hImage != NULL && hMask != NULL)
    {
        HGDIOBJ hOldImage = ::SelectObject(hImageDC, hImage);
        HGDIOBJ hOldMask = ::SelectObject(hMaskDC, hMask);
        if (bStretch)
            ::StretchBlt(hImageDC, 0, 0, nDstCX, nDstCY, hSrcDC, nSrcX, nSrcY, nSrcCX, nSrcCY,
                         SRCCOPY);
        else
            ::BitBlt(hImageDC, 0, 0, nDstCX, nDstCY, hSrcDC, nSrcX, nSrcY, SRCCOPY);
        ::SetBkColor(hImageDC, clrTransparent);
        ::BitBlt(hMaskDC, 0, 0, nDstCX, nDstCY, hImageDC, 0, 0, SRCCOPY);
        ::SetBkColor(hImageDC, RGB(0, 0, 0));
        ::SetTextColor(hImageDC, RGB(255, 255, 255));
        ::BitBlt(hImageDC, 0, 0, nDstCX, nDstCY, hMaskDC, 0, 0, SRCAND);
        COLORREF clrOldBk = ::SetBkColor(hDstDC, RGB(255, 255, 255));
        COLORREF clrOldText = ::SetTextColor(hDstDC, RGB(0, 0, 0));
        ::BitBlt(hDstDC, nDstX, nDstY, nDstCX, nDstCY, hMaskDC, 0, 0, SRCAND);
        ::BitBlt(hDstDC, nDstX, nDstY, nDstCX, nDstCY, hImageDC, 0, 0, SRCPAINT);
        ::SetBkColor(hDstDC, clrOldBk);
        ::SetTextColor(hDstDC, clrOldText);
        ::SelectObject(hImageDC, hOldImage);
        ::SelectObject(hMaskDC, hOldMask);
    }
    if (hImage != NULL)
        ::DeleteObject(hImage);
    if (hMask != NULL)
        ::DeleteObject(hMask);
    if (hImageDC != NULL)
        ::DeleteDC(hImageDC);
    if (hMaskDC != NULL)
        ::DeleteDC(hMaskDC);
}

void CExtPaintManager::ClipOutChildren(CDC* pDC, HWND hWndParent, pfnClipOutFilter pfnFilter,
                                       LPARAM lParam)
{
    if (pDC == NULL || pDC->GetSafeHdc() == NULL || hWndParent == NULL ||
        !::IsWindow(hWndParent))
        return;
    HDC hDC = pDC->GetSafeHdc();
    for (HWND hWnd = ::GetWindow(hWndParent, GW_CHILD); hWnd != NULL;
         hWnd = ::GetWindow(hWnd, GW_HWNDNEXT))
    {
        const LONG nStyle = ::GetWindowLongA(hWnd, GWL_STYLE);
        if ((nStyle & WS_VISIBLE) == 0 || (nStyle & WS_CHILD) == 0)
            continue;
        if (pfnFilter != NULL && pfnFilter(hDC, hWndParent, hWnd, lParam))
            continue;
        RECT rc;
        ::GetWindowRect(hWnd, &rc);
        ::MapWindowPoints(NULL, hWndParent, reinterpret_cast<POINT*>(&rc), 2);
        ::ExcludeClipRect(hDC, rc.left, rc.top, rc.right, rc.bottom);
    }
}

HBITMAP CExtPaintManager::CreatePatternBitmap(COLORREF clr1, COLORREF clr2, int nMaskX1,
                                              int nMaskY1, int nMaskX2, int nMaskY2,
                                              COLORREF clr3)
{
    if (clr1 == COLORREF(-1))
        clr1 = ::GetSysColor(COLOR_BTNFACE);
    if (clr2 == COLORREF(-1))
        clr2 = ::GetSysColor(COLOR_BTNHIGHLIGHT);
    if (clr3 == COLORREF(-1))
        clr3 = clr1;
    HDC hScreen = ::GetDC(NULL);
    if (hScreen == NULL)
        return NULL;
    HBITMAP hBmp = ::CreateCompatibleBitmap(hScreen, 16, 16);
    HDC hDC = ::CreateCompatibleDC(hScreen);
    ::ReleaseDC(NULL, hScreen);
    if (hBmp == NULL || hDC == NULL)
    {
        if (hBmp != NULL)
            ::DeleteObject(hBmp);
        if (hDC != NULL)
            ::DeleteDC(hDC);
        return NULL;
    }
    HGDIOBJ hOld = ::SelectObject(hDC, hBmp);
    for (int y = 0; y < 16; y++)
        for (int x = 0; x < 16; x++)
        {
            COLORREF clr;
            if ((x & nMaskX2) != 0 || (y & nMaskY2) != 0)
                clr = clr3;
            else if ((y & nMaskY1) != 0)
                clr = ((x & nMaskX1) != 0) ? clr1 : clr2;
            else
                clr = ((x & nMaskX1) != 0) ? clr2 : clr1;
            ::SetPixel(hDC, x, y, clr);
        }
    ::SelectObject(hDC, hOld);
    ::DeleteDC(hDC);
    return hBmp;
}

namespace {

COLORREF NearestInverted(HDC hAttribDC, COLORREF clr)
{
    const COLORREF clrInv = RGB(255 - GetRValue(clr), 255 - GetGValue(clr), 255 - GetBValue(clr));
    COLORREF clrNear = ::GetNearestColor(hAttribDC, clrInv);
    return (clrNear == CLR_INVALID) ? clrInv : clrNear;
}

HDC AttribDC(CDC& dc)
{
    return (dc.m_hAttribDC != NULL) ? dc.m_hAttribDC : dc.m_hDC;
}

void Ellipse6(HDC hDC, int x, int y, COLORREF clr)
{
    HPEN hPen = ::CreatePen(PS_SOLID, 1, clr);
    HBRUSH hBrush = ::CreateSolidBrush(clr);
    HGDIOBJ hOldPen = ::SelectObject(hDC, hPen);
    HGDIOBJ hOldBrush = ::SelectObject(hDC, hBrush);
    ::Ellipse(hDC, x, y, x + 6, y + 6);
    ::SelectObject(hDC, hOldPen);
    ::SelectObject(hDC, hOldBrush);
    ::DeleteObject(hPen);
    ::DeleteObject(hBrush);
}

}  // namespace

void CExtPaintManager::DrawRadioDot(CDC& dc, int x, int y, COLORREF clr)
{
    HDC hDC = dc.GetSafeHdc();
    if (hDC == NULL)
        return;
    Ellipse6(hDC, x + 1, y + 1, NearestInverted(AttribDC(dc), clr));
    Ellipse6(hDC, x, y, clr);
}

void CExtPaintManager::DrawCheckMark(CDC& dc, int x, int y, COLORREF clr)
{
    HDC hDC = dc.GetSafeHdc();
    if (hDC == NULL)
        return;
    static const int g_arrTop[7] = {2, 3, 4, 3, 2, 1, 0};
    const COLORREF clrShadow = NearestInverted(AttribDC(dc), clr);
    for (int dx = 0; dx < 7; dx++)
    {
        const int dy = g_arrTop[dx];
        ::SetPixel(hDC, x + dx, y + dy, clr);
        ::SetPixel(hDC, x + dx, y + dy + 1, clr);
        ::SetPixel(hDC, x + dx, y + dy + 2, clrShadow);
    }
}

void CExtPaintManager::DrawEdgeRect(CDC& dc, int x, int y, int cx, int cy, COLORREF clrTopLeft,
                                    COLORREF clrBottomRight)
{
    HDC hDC = dc.GetSafeHdc();
    if (hDC == NULL)
        return;
    FillSolid(hDC, x + 1, y, cx - 2, 1, clrTopLeft, false);
    FillSolid(hDC, x, y + 1, 1, cy - 2, clrTopLeft, false);
    FillSolid(hDC, x + cx, y + 1, -1, cy - 2, clrBottomRight, false);
    FillSolid(hDC, x + 1, y + cy, cx - 2, -1, clrBottomRight, false);
}

void CExtPaintManager::DrawEdgeRect(CDC& dc, const RECT& rc, COLORREF clrTopLeft,
                                    COLORREF clrBottomRight)
{
    DrawEdgeRect(dc, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, clrTopLeft,
                 clrBottomRight);
}

void CExtPaintManager::FillTabAreaAndEdge(CExtPaintManager*, CDC& dc, const RECT& rcArea,
                                          const RECT& rcItem, int nSide, bool bNoItem,
                                          COLORREF clrArea, COLORREF clrItem, COLORREF clrEdge)
{
    HDC hDC = dc.GetSafeHdc();
    if (hDC == NULL)
        return;
    FillSolid(hDC, rcArea.left, rcArea.top, rcArea.right - rcArea.left,
              rcArea.bottom - rcArea.top, clrArea, false);
    if (bNoItem)
        return;
    const int cx = rcItem.right - rcItem.left, cy = rcItem.bottom - rcItem.top;
    FillSolid(hDC, rcItem.left, rcItem.top, cx, cy, clrItem, false);
    switch (nSide)
    {
    case 0:
        FillSolid(hDC, rcItem.left, rcItem.top, cx, 1, clrEdge, false);
        break;
    case 1:
        FillSolid(hDC, rcItem.left, rcItem.bottom - 1, cx, 1, clrEdge, false);
        break;
    case 2:
        FillSolid(hDC, rcItem.left, rcItem.top, 1, cy, clrEdge, false);
        break;
    case 3:
        FillSolid(hDC, rcItem.right - 1, rcItem.top, 1, cy, clrEdge, false);
        break;
    default:
        break;
    }
}
