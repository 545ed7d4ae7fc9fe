// CExtBitmap and the platform's GDI objects: taking an HBITMAP or an HICON in, and
// making an HBITMAP, an HICON or a colour-keyed DIB section out.
#include "framework/framework.h"
#include "toolkit/core/bitmap.h"
#include "toolkit/core/bitmap_platform.h"
#include "toolkit/core/ext_image_list.h"

#include <string.h>

namespace {

struct ScreenDC
{
    HDC m_hDC;
    ScreenDC() : m_hDC(::GetDC(NULL)) {}
    ~ScreenDC()
    {
        if (m_hDC != NULL)
            ::ReleaseDC(NULL, m_hDC);
    }
};

}  // namespace

bool CExtBitmap::AssignFromHBITMAP(HBITMAP hBitmap, const RECT* pRect, bool bEnableThrowException,
                                   bool bPreserveAlpha)
{
    Empty();
    BITMAP bm;
    ::memset(&bm, 0, sizeof(bm));
    bool bOk = hBitmap != NULL && ::GetObject(hBitmap, sizeof(bm), &bm) != 0 && bm.bmWidth > 0 &&
               bm.bmHeight != 0;
    if (bOk)
    {
        if (bm.bmHeight < 0)
            bm.bmHeight = -bm.bmHeight;
        bool bWhole = true;
        if (pRect != NULL)
        {
            if (pRect->left < 0 || pRect->top < 0 || pRect->right > bm.bmWidth || pRect->bottom > bm.bmHeight ||
                pRect->left >= pRect->right || pRect->top >= pRect->bottom)
                bOk = false;
            else if (!(pRect->left == 0 && pRect->top == 0 && pRect->right == bm.bmWidth &&
                       pRect->bottom == bm.bmHeight))
                bWhole = false;
        }
        if (bOk && bWhole)
        {
            int nBPP = NormalizeBPP(bm.bmBitsPixel * bm.bmPlanes);
            LPBITMAPINFOHEADER pBlock =
                (nBPP == 32) ? AllocBlock(bm.bmWidth, bm.bmHeight, 32, 0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000)
                             : AllocBlock(bm.bmWidth, bm.bmHeight, nBPP);
            if (pBlock == NULL)
            {
                if (bEnableThrowException)
                    AfxThrowUserException();
                return false;
            }
            ScreenDC dc;
            // GetDIBits writes the colour table right after the header, which is where
            // the block keeps its palette
            int nLines = ::GetDIBits(dc.m_hDC, hBitmap, 0, (UINT)bm.bmHeight, GetBitsPtr(pBlock),
                                     (LPBITMAPINFO)pBlock, DIB_RGB_COLORS);
            pBlock->biSize = sizeof(BITMAPINFOHEADER);
            pBlock->biCompression = BI_RGB;
            pBlock->biSizeImage = 0;
            pBlock->biClrUsed = pBlock->biClrImportant = (DWORD)GetPaletteSize(nBPP);
            if (nLines == 0)
            {
                FreeBlock(pBlock);
                bOk = false;
            }
            else
            {
                if (nBPP == 32 && !bPreserveAlpha)
                {
                    ULONG nStride = GetStride(bm.bmWidth, 32);
                    for (int nRow = 0; nRow < bm.bmHeight; nRow++)
                    {
                        LPBYTE p = GetScanLine(pBlock, nRow, nStride);
                        for (int x = 0; x < bm.bmWidth; x++)
                            p[x * 4 + 3] = 255;
                    }
                }
                m_pImageBuffer = pBlock;
                OnContentChanged();
                return true;
            }
        }
        else if (bOk)
        {
            CExtBitmap bmpWhole;
            if (!bmpWhole.AssignFromHBITMAP(hBitmap, NULL, bEnableThrowException, bPreserveAlpha) ||
                !bmpWhole.Make32(bEnableThrowException))
                bOk = false;
            else
                return AssignFromPart(bmpWhole, pRect, bEnableThrowException);
        }
    }
    Empty();
    if (bEnableThrowException)
        AfxThrowUserException();
    return false;
}

bool CExtBitmap::AssignFromPart(const CExtBitmap& other, const RECT* pRect, bool bEnableThrowException)
{
    if (this == &other)
    {
        CExtBitmap bmpCopy(other);
        return AssignFromPart(bmpCopy, pRect, bEnableThrowException);
    }
    Empty();
    CSize szSrc = other.GetSize();
    bool bBad = other.IsEmpty();
    if (!bBad && pRect != NULL &&
        (pRect->left < 0 || pRect->top < 0 || pRect->right > szSrc.cx || pRect->bottom > szSrc.cy ||
         pRect->left >= pRect->right || pRect->top >= pRect->bottom))
        bBad = true;
    if (bBad)
    {
        if (bEnableThrowException)
            AfxThrowUserException();
        return false;
    }
    if (pRect == NULL ||
        (pRect->left == 0 && pRect->top == 0 && pRect->right == szSrc.cx && pRect->bottom == szSrc.cy))
        return AssignFrom(other, bEnableThrowException);

    // a part always comes out in 32 bits; palette sources are converted first
    const CExtBitmap* pSrc = &other;
    CExtBitmap bmp32;
    if (other.GetBPP() != 32)
    {
        if (!bmp32.AssignFrom(other, bEnableThrowException) || !bmp32.Make32(bEnableThrowException))
        {
            if (bEnableThrowException)
                AfxThrowUserException();
            return false;
        }
        pSrc = &bmp32;
    }
    int cx = pRect->right - pRect->left, cy = pRect->bottom - pRect->top;
    LPBITMAPINFOHEADER pBlock = AllocBlock(cx, cy, 32, 0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000);
    if (pBlock == NULL)
    {
        if (bEnableThrowException)
            AfxThrowUserException();
        return false;
    }
    m_pImageBuffer = pBlock;
    for (int y = 0; y < cy; y++)
        for (int x = 0; x < cx; x++)
        {
            RGBQUAD q;
            if (pSrc->GetPixel(pRect->left + x, pRect->top + y, q))
            {
                LPBYTE p = GetScanLine(pBlock, cy - 1 - y, GetStride(cx, 32)) + x * 4;
                p[0] = q.rgbBlue;
                p[1] = q.rgbGreen;
                p[2] = q.rgbRed;
                p[3] = q.rgbReserved;
            }
        }
    OnContentChanged();
    return true;
}

bool CExtBitmap::AssignFromHICON(HICON hIcon)
{
    Empty();
    if (hIcon == NULL)
        return true;
    ICONINFO ii;
    ::memset(&ii, 0, sizeof(ii));
    if (!::GetIconInfo(hIcon, &ii))
        return false;

    // the size comes from the hotspot (an icon's hotspot is its centre), each side kept
    // in 8 bits; when that gives 0 the bitmaps say
    int cx = (int)((2 * ii.xHotspot) & 0xFF);
    int cy = (int)((2 * ii.yHotspot) & 0xFF);
    if (cx == 0 || cy == 0)
    {
        BITMAP bm;
        ::memset(&bm, 0, sizeof(bm));
        HBITMAP hSizer = (ii.hbmColor != NULL) ? ii.hbmColor : ii.hbmMask;
        if (hSizer != NULL && ::GetObject(hSizer, sizeof(bm), &bm) != 0)
        {
            cx = bm.bmWidth;
            cy = bm.bmHeight;
            if (ii.hbmColor == NULL)
                cy /= 2;  // the mask holds the AND and the XOR halves
        }
    }

    if (cx > 0 && cy > 0)
    {
        CExtImageList il;
        if (il.Create(cx, cy, ILC_COLOR32, 1, 1))
        {
            if (il.Add(hIcon) >= 0)
            {
                IMAGEINFO info;
                ::memset(&info, 0, sizeof(info));
                if (il.GetImageInfo(0, &info) && info.hbmImage != NULL)
                    AssignFromHBITMAP(info.hbmImage, &info.rcImage, false, true);
            }
            il.DeleteImageList();
        }
        bool bAlpha = false;
        if (!IsEmpty() && GetBPP() == 32)
        {
            ULONG nStride = GetStride(cx, 32);
            for (int nRow = 0; nRow < m_pImageBuffer->biHeight && !bAlpha; nRow++)
            {
                LPBYTE p = GetScanLine(m_pImageBuffer, nRow, nStride);
                for (int x = 0; x < m_pImageBuffer->biWidth; x++)
                    if (p[x * 4 + 3] != 0)
                    {
                        bAlpha = true;
                        break;
                    }
            }
        }
        if (!bAlpha)
        {
            // no alpha from the image list: the icon's own colour and mask bitmaps
            Empty();
            CExtBitmap bmpMask;
            if (ii.hbmMask != NULL)
            {
                RECT rcMask = {0, 0, cx, cy};
                if (!bmpMask.AssignFromHBITMAP(ii.hbmMask, &rcMask, false, false))
                    bmpMask.AssignFromHBITMAP(ii.hbmMask, NULL, false, false);
                bmpMask.Make32(false);
            }
            if (ii.hbmColor != NULL)
            {
                if (AssignFromHBITMAP(ii.hbmColor, NULL, false, false))
                    Make32(false);
            }
            else if (!bmpMask.IsEmpty())
                AssignFrom(bmpMask, false);
            if (!IsEmpty() && !bmpMask.IsEmpty())
            {
                CSize sz = GetSize(), szMask = bmpMask.GetSize();
                ULONG nStride = GetStride(sz.cx, 32);
                for (int y = 0; y < sz.cy; y++)
                {
                    LPBYTE p = GetScanLine(m_pImageBuffer, sz.cy - 1 - y, nStride);
                    for (int x = 0; x < sz.cx; x++)
                    {
                        COLORREF clrMask = (x < szMask.cx && y < szMask.cy) ? bmpMask.GetPixelColor(x, y) : 0;
                        p[x * 4 + 3] = (clrMask != RGB(0, 0, 0)) ? 0 : 255;
                    }
                }
            }
        }
    }
    if (ii.hbmColor != NULL)
        ::DeleteObject(ii.hbmColor);
    if (ii.hbmMask != NULL)
        ::DeleteObject(ii.hbmMask);
    OnContentChanged();
    return !IsEmpty();
}

HBITMAP CExtBitmap::CreateHBITMAP(HDC hDC, bool bDeviceDependent) const
{
    if (IsEmpty() || hDC == NULL)
        return NULL;
    if (bDeviceDependent)
        return ::CreateDIBitmap(hDC, m_pImageBuffer, CBM_INIT, GetBitsPtr(m_pImageBuffer),
                                (const BITMAPINFO*)m_pImageBuffer, DIB_RGB_COLORS);
    CSize sz = GetSize();
    HDC hMemDC = ::CreateCompatibleDC(hDC);
    if (hMemDC == NULL)
        return NULL;
    // bottom-up like the image's own rows, which a 32-bit image copies in whole
    void* pBits = NULL;
    HBITMAP hBmp = CreateDib32(hMemDC, sz.cx, sz.cy, &pBits, true);
    if (hBmp != NULL)
    {
        if (m_pImageBuffer->biBitCount == 32)
        {
            // same layout: the rows, alpha included, are the section's bits
            ::memcpy(pBits, GetBitsPtr(m_pImageBuffer), (size_t)GetStride(sz.cx, 32) * (size_t)sz.cy);
        }
        else
        {
            HGDIOBJ hOld = ::SelectObject(hMemDC, hBmp);
            Draw(hMemDC, 0, 0, sz.cx, sz.cy, 0, 0, sz.cx, sz.cy, SRCCOPY);
            ::SelectObject(hMemDC, hOld);
        }
    }
    ::DeleteDC(hMemDC);
    return hBmp;
}

HBITMAP CExtBitmap::CreateHBITMAP(bool bDeviceDependent) const
{
    if (IsEmpty())
        return NULL;
    ScreenDC dc;
    HDC hMemDC = ::CreateCompatibleDC(dc.m_hDC);
    if (hMemDC == NULL)
        return NULL;
    // a device-dependent bitmap must match the screen, not the memory DC's 1x1 bitmap
    HBITMAP hBmp = CreateHBITMAP(bDeviceDependent ? dc.m_hDC : hMemDC, bDeviceDependent);
    ::DeleteDC(hMemDC);
    return hBmp;
}

HBITMAP CExtBitmap::CopyBitmapRect(HBITMAP hBitmap, const RECT* pRect, void** ppBits)
{
    if (ppBits != NULL)
        *ppBits = NULL;
    if (hBitmap == NULL)
        return NULL;
    BITMAP bm;
    ::memset(&bm, 0, sizeof(bm));
    if (::GetObject(hBitmap, sizeof(bm), &bm) == 0)
        return NULL;
    RECT rc = {0, 0, bm.bmWidth, bm.bmHeight < 0 ? -bm.bmHeight : bm.bmHeight};
    if (pRect != NULL)
        rc = *pRect;
    int cx = rc.right - rc.left, cy = rc.bottom - rc.top;
    if (cx <= 0 || cy <= 0)
        return NULL;
    ScreenDC dc;
    HDC hSrcDC = ::CreateCompatibleDC(dc.m_hDC);
    HDC hDstDC = ::CreateCompatibleDC(dc.m_hDC);
    HBITMAP hResult = NULL;
    if (hSrcDC != NULL && hDstDC != NULL)
    {
        void* pBits = NULL;
        if (ppBits != NULL)
            hResult = CreateDib32(dc.m_hDC, cx, cy, &pBits, true);
        else
            hResult = ::CreateCompatibleBitmap(dc.m_hDC, cx, cy);
        if (hResult != NULL)
        {
            HGDIOBJ hOldSrc = ::SelectObject(hSrcDC, hBitmap);
            HGDIOBJ hOldDst = ::SelectObject(hDstDC, hResult);
            BOOL bBlt = (hOldSrc != NULL && hOldDst != NULL) &&
                        ::BitBlt(hDstDC, 0, 0, cx, cy, hSrcDC, rc.left, rc.top, SRCCOPY);
            if (hOldSrc != NULL)
                ::SelectObject(hSrcDC, hOldSrc);
            if (hOldDst != NULL)
                ::SelectObject(hDstDC, hOldDst);
            if (!bBlt)
            {
                ::DeleteObject(hResult);
                hResult = NULL;
                pBits = NULL;
            }
        }
        if (ppBits != NULL)
            *ppBits = pBits;
    }
    if (hSrcDC != NULL)
        ::DeleteDC(hSrcDC);
    if (hDstDC != NULL)
        ::DeleteDC(hDstDC);
    return hResult;
}

HICON CExtBitmap::CreateHICON(bool bReplaceSysColors, COLORREF clrTransparent) const
{
    if (IsEmpty())
        return NULL;
    if (clrTransparent == COLORREF(-1L))
        clrTransparent = RGB(255, 0, 255);
    CSize sz = GetSize();
    HBITMAP hSection = CreateHBITMAP(false);
    if (hSection == NULL)
        return NULL;
    void* pvBits = NULL;
    HBITMAP hBmp = CopyBitmapRect(hSection, NULL, &pvBits);
    ::DeleteObject(hSection);
    if (hBmp == NULL || pvBits == NULL)
    {
        if (hBmp != NULL)
            ::DeleteObject(hBmp);
        return NULL;
    }
    ::GdiFlush();
    LPDWORD pBits = (LPDWORD)pvBits;
    const int nCount = sz.cx * sz.cy;
    auto colorOf = [](DWORD v) { return RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF); };
    if (bReplaceSysColors)
    {
        struct
        {
            COLORREF clrShade;
            int nSysColor;
            bool bUse;
            COLORREF clrSys;
        } pairs[3] = {{RGB(128, 128, 128), COLOR_BTNSHADOW, true, 0},
                      {RGB(192, 192, 192), COLOR_BTNFACE, true, 0},
                      {RGB(223, 223, 223), COLOR_3DLIGHT, true, 0}};
        for (auto& pair : pairs)
        {
            pair.clrSys = ::GetSysColor(pair.nSysColor);
            if (pair.clrShade == clrTransparent || pair.clrSys == pair.clrShade)
                pair.bUse = false;
        }
        for (int i = 0; i < nCount; i++)
        {
            COLORREF clr = colorOf(pBits[i]);
            if (clr == clrTransparent)
                continue;
            for (auto& pair : pairs)
                if (pair.bUse && clr == pair.clrShade)
                {
                    pBits[i] = (pBits[i] & 0xFF000000) | ((DWORD)GetRValue(pair.clrSys) << 16) |
                               ((DWORD)GetGValue(pair.clrSys) << 8) | (DWORD)GetBValue(pair.clrSys);
                    break;
                }
        }
    }

    // An image list takes a 32-bit image's own alpha over the mask colour: the key
    // pixels are made transparent in the alpha too, so the key works either way.
    for (int i = 0; i < nCount; i++)
        if (colorOf(pBits[i]) == clrTransparent)
            pBits[i] &= 0x00FFFFFF;

    HICON hIcon = NULL;
    DWORD dwOsFlags = CExtBitmapPlatform::GetOsFlags();
    bool bDirectFirst = (dwOsFlags & CExtBitmapPlatform::__OS_WIN9X) != 0 ||
                        (dwOsFlags & CExtBitmapPlatform::__OS_NT5_OR_LATER) == 0;
    if (bDirectFirst)
    {
        HBITMAP hMask = ::CreateBitmap(sz.cx, sz.cy, 1, 1, NULL);
        if (hMask != NULL)
        {
            ScreenDC dc;
            HDC hMaskDC = ::CreateCompatibleDC(dc.m_hDC);
            if (hMaskDC != NULL)
            {
                HGDIOBJ hOld = ::SelectObject(hMaskDC, hMask);
                RECT rc = {0, 0, sz.cx, sz.cy};
                ::FillRect(hMaskDC, &rc, (HBRUSH)::GetStockObject(WHITE_BRUSH));
                for (int y = 0; y < sz.cy; y++)
                    for (int x = 0; x < sz.cx; x++)
                    {
                        // the section is bottom-up
                        COLORREF clr = colorOf(pBits[(sz.cy - 1 - y) * sz.cx + x]);
                        ::SetPixel(hMaskDC, x, y, clr == clrTransparent ? RGB(255, 255, 255) : RGB(0, 0, 0));
                    }
                ::SelectObject(hMaskDC, hOld);
                ::DeleteDC(hMaskDC);
                ICONINFO ii;
                ii.fIcon = TRUE;
                ii.xHotspot = ii.yHotspot = 0;
                ii.hbmMask = hMask;
                ii.hbmColor = hBmp;
                hIcon = ::CreateIconIndirect(&ii);
            }
            ::DeleteObject(hMask);
        }
    }
    if (hIcon == NULL)
    {
        HIMAGELIST hList = ImageList_Create(sz.cx, sz.cy, ILC_COLOR32 | ILC_MASK, 1, 1);
        if (hList != NULL)
        {
            if (ImageList_AddMasked(hList, hBmp, clrTransparent) >= 0)
                hIcon = ImageList_GetIcon(hList, 0, ILD_NORMAL);
            ImageList_Destroy(hList);
        }
    }
    ::DeleteObject(hBmp);
    return hIcon;
}

bool CExtBitmap::ExportWithColorKey(HBITMAP& hBitmap, COLORREF& clrKey, CArray<COLORREF, COLORREF>* pColors,
                                    void** ppBits) const
{
    if (IsEmpty())
        return false;
    CMap<COLORREF, COLORREF, ULONG, ULONG> mapColors(10);
    CollectColors(mapColors);
    ULONG nDummy = 0;
    COLORREF clrCandidates[3] = {RGB(255, 0, 255), RGB(0, 255, 0), RGB(192, 192, 192)};
    COLORREF clrFound = COLORREF(-1L);
    for (COLORREF clr : clrCandidates)
        if (!mapColors.Lookup(clr, nDummy))
        {
            clrFound = clr;
            break;
        }
    if (clrFound == COLORREF(-1L))
    {
        for (COLORREF clr = 1; clr < 0xFFFFFE; clr++)
            if (!mapColors.Lookup(clr, nDummy))
            {
                clrFound = clr;
                break;
            }
    }
    if (clrFound == COLORREF(-1L))
        return false;
    HBITMAP hSection = CreateDIBSection32(ppBits, clrFound);
    if (hSection == NULL)
        return false;
    hBitmap = hSection;
    clrKey = clrFound;
    if (pColors != NULL)
    {
        pColors->RemoveAll();
        pColors->Add(clrFound);
        POSITION pos = mapColors.GetStartPosition();
        while (pos != NULL)
        {
            COLORREF clr = 0;
            ULONG nCount = 0;
            mapColors.GetNextAssoc(pos, clr, nCount);
            pColors->Add(clr);
        }
    }
    return true;
}
