// The pixel block of CExtBitmap and the per-pixel operations on it: allocation,
// copying, pixel access, conversion to 32 bits, premultiplied alpha and the colour
// and alpha edits.
//
// Sizes come from files and resources that anybody may hand us, so every size is
// computed in 64 bits and blocks beyond 32,768 pixels a side or 256 MB are refused
// instead of being allocated short and overrun later.
#include "framework/framework.h"
#include "toolkit/core/bitmap.h"
#include "toolkit/core/bitmap_platform.h"

#include <stdlib.h>
#include <string.h>

namespace {

inline ULONG Round16(ULONG n)
{
    return (n + 15u) & ~15u;
}

inline ULONG HeaderAndPaletteBytes(int nBPP)
{
    return Round16((ULONG)sizeof(BITMAPINFOHEADER) + 4u * (ULONG)CExtBitmap::GetPaletteSize(nBPP));
}

inline bool Is565(LPBITMAPINFOHEADER pBlock)
{
    return CExtBitmap::GetMask(pBlock, 0) == 0xF800 && CExtBitmap::GetMask(pBlock, 1) == 0x07E0 &&
           CExtBitmap::GetMask(pBlock, 2) == 0x001F;
}

inline bool IsPixelDepth(int nBPP)
{
    return nBPP == 15 || nBPP == 16 || nBPP == 24 || nBPP == 32;
}

// Reads one pixel of a 16, 24 or 32-bit block; nRow counts block rows from the bottom.
inline void ReadQuad(LPBITMAPINFOHEADER pBlock, ULONG nStride, int x, int nRow, RGBQUAD& q)
{
    LPBYTE p = CExtBitmap::GetScanLine(pBlock, nRow, nStride);
    switch (pBlock->biBitCount)
    {
    case 32:
        p += x * 4;
        q.rgbBlue = p[0];
        q.rgbGreen = p[1];
        q.rgbRed = p[2];
        q.rgbReserved = p[3];
        break;
    case 24:
        p += x * 3;
        q.rgbBlue = p[0];
        q.rgbGreen = p[1];
        q.rgbRed = p[2];
        q.rgbReserved = 255;
        break;
    default:
    {
        p += x * 2;
        UINT v = (UINT)p[0] | ((UINT)p[1] << 8);
        if (Is565(pBlock))
        {
            q.rgbRed = (BYTE)((v >> 11) * 255 / 31);
            q.rgbGreen = (BYTE)(((v >> 5) & 63) * 255 / 63);
        }
        else
        {
            q.rgbRed = (BYTE)(((v >> 10) & 31) * 255 / 31);
            q.rgbGreen = (BYTE)(((v >> 5) & 31) * 255 / 31);
        }
        q.rgbBlue = (BYTE)((v & 31) * 255 / 31);
        q.rgbReserved = 255;
        break;
    }
    }
}

inline void WriteQuad(LPBITMAPINFOHEADER pBlock, ULONG nStride, int x, int nRow, const RGBQUAD& q,
                      bool bRed, bool bGreen, bool bBlue, bool bAlpha)
{
    LPBYTE p = CExtBitmap::GetScanLine(pBlock, nRow, nStride);
    switch (pBlock->biBitCount)
    {
    case 32:
        p += x * 4;
        if (bBlue)
            p[0] = q.rgbBlue;
        if (bGreen)
            p[1] = q.rgbGreen;
        if (bRed)
            p[2] = q.rgbRed;
        if (bAlpha)
            p[3] = q.rgbReserved;
        break;
    case 24:
        p += x * 3;
        if (bBlue)
            p[0] = q.rgbBlue;
        if (bGreen)
            p[1] = q.rgbGreen;
        if (bRed)
            p[2] = q.rgbRed;
        break;
    default:
    {
        p += x * 2;
        UINT r = bRed ? q.rgbRed : 0, g = bGreen ? q.rgbGreen : 0, b = bBlue ? q.rgbBlue : 0;
        UINT v;
        if (Is565(pBlock))
            v = ((r & 0xF8) << 8) | ((g & 0xFC) << 3) | (b >> 3);
        else
            v = ((r & 0xF8) << 7) | ((g & 0xF8) << 2) | (b >> 3);
        p[0] = (BYTE)(v & 0xFF);
        p[1] = (BYTE)(v >> 8);
        break;
    }
    }
}

}  // namespace

// ---- block routines -------------------------------------------------------------------

int CExtBitmap::NormalizeBPP(int nBPP)
{
    switch (nBPP)
    {
    case 1:
    case 4:
    case 8:
    case 16:
    case 24:
    case 32:
        return nBPP;
    default:
        return 8;
    }
}

int CExtBitmap::GetPaletteSize(int nBPP)
{
    switch (nBPP)
    {
    case 1:
        return 2;
    case 4:
        return 16;
    case 8:
        return 256;
    default:
        return 0;
    }
}

ULONG CExtBitmap::GetStride(int nWidth, int nBPP)
{
    ULONGLONG nBits = (ULONGLONG)(nWidth < 0 ? 0 : nWidth) * (ULONGLONG)(nBPP < 0 ? 0 : nBPP);
    ULONGLONG nBytes = (nBits + 7) / 8;
    nBytes = (nBytes + 3) & ~(ULONGLONG)3;
    return (ULONG)nBytes;
}

ULONGLONG CExtBitmap::GetBlockSize(int nWidth, int nHeight, int nBPP)
{
    if (nWidth <= 0 || nHeight <= 0 || nWidth > __MAX_BLOCK_SIDE || nHeight > __MAX_BLOCK_SIDE)
        return 0;
    nBPP = NormalizeBPP(nBPP);
    ULONGLONG nStride = GetStride(nWidth, nBPP);
    ULONGLONG nSize = (ULONGLONG)HeaderAndPaletteBytes(nBPP) + nStride * (ULONGLONG)nHeight;
    if (nSize + 16 > g_nMaxBlockBytes)
        return 0;
    return nSize;
}

LPBITMAPINFOHEADER CExtBitmap::AllocBlock(int nWidth, int nHeight, int nBPP, DWORD dwMaskRed,
                                          DWORD dwMaskGreen, DWORD dwMaskBlue, DWORD dwMaskAlpha)
{
    nBPP = NormalizeBPP(nBPP);
    ULONGLONG nSize = GetBlockSize(nWidth, nHeight, nBPP);
    if (nSize == 0)
        return NULL;
    // masks + header/palette/rows, then room to align to 16 and keep the raw address
    size_t nTotal = (size_t)(16 + nSize);
    BYTE* pRaw = (BYTE*)::malloc(nTotal + 16 + sizeof(void*));
    if (pRaw == NULL)
        return NULL;
    UINT_PTR nAligned = ((UINT_PTR)(pRaw + sizeof(void*)) + 15u) & ~(UINT_PTR)15u;
    BYTE* pMasks = (BYTE*)nAligned;
    ((void**)pMasks)[-1] = pRaw;
    ::memset(pMasks, 0, nTotal);
    LPDWORD pdwMasks = (LPDWORD)pMasks;
    pdwMasks[0] = dwMaskRed;
    pdwMasks[1] = dwMaskGreen;
    pdwMasks[2] = dwMaskBlue;
    pdwMasks[3] = dwMaskAlpha;
    LPBITMAPINFOHEADER pHdr = (LPBITMAPINFOHEADER)(pMasks + 16);
    pHdr->biSize = sizeof(BITMAPINFOHEADER);
    pHdr->biWidth = nWidth;
    pHdr->biHeight = nHeight;
    pHdr->biPlanes = 1;
    pHdr->biBitCount = (WORD)nBPP;
    pHdr->biCompression = BI_RGB;
    pHdr->biSizeImage = 0;
    pHdr->biClrUsed = pHdr->biClrImportant = (DWORD)GetPaletteSize(nBPP);
    return pHdr;
}

void CExtBitmap::FreeBlock(LPBITMAPINFOHEADER pBlock)
{
    if (pBlock == NULL)
        return;
    BYTE* pMasks = ((BYTE*)pBlock) - 16;
    ::free(((void**)pMasks)[-1]);
}

LPDWORD CExtBitmap::GetMaskPtr(LPBITMAPINFOHEADER pBlock)
{
    return (LPDWORD)(((BYTE*)pBlock) - 16);
}

DWORD CExtBitmap::GetMask(LPBITMAPINFOHEADER pBlock, int nIndex)
{
    if (pBlock == NULL || nIndex < 0 || nIndex > 3)
        return 0;
    return GetMaskPtr(pBlock)[nIndex];
}

LPBYTE CExtBitmap::GetBitsPtr(LPBITMAPINFOHEADER pBlock)
{
    if (pBlock == NULL)
        return NULL;
    return ((LPBYTE)pBlock) + HeaderAndPaletteBytes(pBlock->biBitCount);
}

LPBYTE CExtBitmap::GetScanLine(LPBITMAPINFOHEADER pBlock, int nRow, ULONG nStride)
{
    return GetBitsPtr(pBlock) + (size_t)nRow * nStride;
}

// ---- the object -----------------------------------------------------------------------

CExtBitmap::CExtBitmap() : m_pImageBuffer(NULL) {}

CExtBitmap::CExtBitmap(const CExtBitmap& other) : m_pImageBuffer(NULL)
{
    AssignFrom(other, false);
}

CExtBitmap& CExtBitmap::operator=(const CExtBitmap& other)
{
    if (this != &other)
        AssignFrom(other, false);
    return *this;
}

CExtBitmap::~CExtBitmap()
{
    FreeBlock(m_pImageBuffer);
    m_pImageBuffer = NULL;
}

void CExtBitmap::_ReplaceBlock(LPBITMAPINFOHEADER pNewBlock)
{
    LPBITMAPINFOHEADER pOld = m_pImageBuffer;
    m_pImageBuffer = pNewBlock;
    if (pOld != NULL && pOld != pNewBlock)
        FreeBlock(pOld);
}

void CExtBitmap::Empty()
{
    _ReplaceBlock(NULL);
    OnContentChanged();
}

bool CExtBitmap::IsEmpty() const
{
    return m_pImageBuffer == NULL;
}

void CExtBitmap::OnLoad()
{
    OnContentChanged();
}

void CExtBitmap::OnContentChanged() {}

bool CExtBitmap::AssignFrom(const CExtBitmap& other, bool bEnableThrowException)
{
    if (this == &other)
        return true;
    Empty();
    if (other.IsEmpty())
        return true;
    LPBITMAPINFOHEADER pSrc = other.m_pImageBuffer;
    LPBITMAPINFOHEADER pNew =
        AllocBlock(pSrc->biWidth, pSrc->biHeight, pSrc->biBitCount, GetMask(pSrc, 0), GetMask(pSrc, 1),
                   GetMask(pSrc, 2), GetMask(pSrc, 3));
    if (pNew == NULL)
    {
        if (bEnableThrowException)
            AfxThrowUserException();
        return false;
    }
    ULONGLONG nSize = GetBlockSize(pSrc->biWidth, pSrc->biHeight, pSrc->biBitCount);
    ::memcpy(((BYTE*)pNew) + sizeof(BITMAPINFOHEADER), ((const BYTE*)pSrc) + sizeof(BITMAPINFOHEADER),
             (size_t)(nSize - sizeof(BITMAPINFOHEADER)));
    m_pImageBuffer = pNew;
    OnContentChanged();
    return true;
}

CSize CExtBitmap::GetSize() const
{
    if (m_pImageBuffer == NULL)
        return CSize(0, 0);
    return CSize(m_pImageBuffer->biWidth, m_pImageBuffer->biHeight);
}

int CExtBitmap::GetBPP() const
{
    return m_pImageBuffer == NULL ? 0 : (int)m_pImageBuffer->biBitCount;
}

bool CExtBitmap::GetPixel(int x, int y, RGBQUAD& quad) const
{
    if (m_pImageBuffer == NULL || x < 0 || y < 0 || x >= m_pImageBuffer->biWidth ||
        y >= m_pImageBuffer->biHeight || !IsPixelDepth(m_pImageBuffer->biBitCount))
        return false;
    ULONG nStride = GetStride(m_pImageBuffer->biWidth, m_pImageBuffer->biBitCount);
    ReadQuad(m_pImageBuffer, nStride, x, m_pImageBuffer->biHeight - 1 - y, quad);
    return true;
}

COLORREF CExtBitmap::GetPixelColor(int x, int y, BYTE* pAlpha) const
{
    RGBQUAD q;
    if (!GetPixel(x, y, q))
        return COLORREF(-1L);
    if (pAlpha != NULL)
        *pAlpha = q.rgbReserved;
    return RGB(q.rgbRed, q.rgbGreen, q.rgbBlue);
}

bool CExtBitmap::SetPixel(int x, int y, const RGBQUAD& quad, bool bRed, bool bGreen, bool bBlue,
                          bool bAlpha)
{
    if (m_pImageBuffer == NULL || x < 0 || y < 0 || x >= m_pImageBuffer->biWidth ||
        y >= m_pImageBuffer->biHeight || !IsPixelDepth(m_pImageBuffer->biBitCount))
        return false;
    ULONG nStride = GetStride(m_pImageBuffer->biWidth, m_pImageBuffer->biBitCount);
    WriteQuad(m_pImageBuffer, nStride, x, m_pImageBuffer->biHeight - 1 - y, quad, bRed, bGreen, bBlue,
              bAlpha);
    OnContentChanged();
    return true;
}

bool CExtBitmap::Make32(bool bEnableThrowException)
{
    if (m_pImageBuffer == NULL)
        return false;
    LPBITMAPINFOHEADER pSrc = m_pImageBuffer;
    if (pSrc->biBitCount == 32)
    {
        LPDWORD pMasks = GetMaskPtr(pSrc);
        if (pMasks[0] == 0x00FF0000 && pMasks[1] == 0x0000FF00 && pMasks[2] == 0x000000FF &&
            pMasks[3] != 0xFF000000)
        {
            pMasks[3] = 0xFF000000;
            OnContentChanged();
        }
        return true;
    }
    int nWidth = pSrc->biWidth, nHeight = pSrc->biHeight;
    LPBITMAPINFOHEADER pDst =
        AllocBlock(nWidth, nHeight, 32, 0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000);
    if (pDst == NULL)
    {
        if (bEnableThrowException)
            AfxThrowUserException();
        return false;
    }
    const RGBQUAD* pPalette = (const RGBQUAD*)(((const BYTE*)pSrc) + sizeof(BITMAPINFOHEADER));
    int nPalette = GetPaletteSize(pSrc->biBitCount);
    ULONG nSrcStride = GetStride(nWidth, pSrc->biBitCount);
    ULONG nDstStride = GetStride(nWidth, 32);
    for (int nRow = 0; nRow < nHeight; nRow++)
    {
        const BYTE* pS = GetScanLine(pSrc, nRow, nSrcStride);
        LPBYTE pD = GetScanLine(pDst, nRow, nDstStride);
        for (int x = 0; x < nWidth; x++, pD += 4)
        {
            RGBQUAD q = {0, 0, 0, 255};
            int nIndex = -1;
            switch (pSrc->biBitCount)
            {
            case 1:
                nIndex = (pS[x / 8] & (0x80 >> (x & 7))) ? 1 : 0;
                break;
            case 4:
                nIndex = (x & 1) ? (pS[x / 2] & 0x0F) : (pS[x / 2] >> 4);
                break;
            case 8:
                nIndex = pS[x];
                break;
            default:
                ReadQuad(pSrc, nSrcStride, x, nRow, q);
                q.rgbReserved = 255;
                break;
            }
            if (nIndex >= 0 && nIndex < nPalette)
            {
                q.rgbBlue = pPalette[nIndex].rgbBlue;
                q.rgbGreen = pPalette[nIndex].rgbGreen;
                q.rgbRed = pPalette[nIndex].rgbRed;
            }
            pD[0] = q.rgbBlue;
            pD[1] = q.rgbGreen;
            pD[2] = q.rgbRed;
            pD[3] = 255;
        }
    }
    _ReplaceBlock(pDst);
    OnContentChanged();
    return true;
}

void CExtBitmap::PremultiplyAlpha(bool bPremultiply)
{
    if (m_pImageBuffer == NULL || m_pImageBuffer->biBitCount != 32)
        return;
    ULONG nStride = GetStride(m_pImageBuffer->biWidth, 32);
    for (int nRow = 0; nRow < m_pImageBuffer->biHeight; nRow++)
    {
        LPBYTE p = GetScanLine(m_pImageBuffer, nRow, nStride);
        for (int x = 0; x < m_pImageBuffer->biWidth; x++, p += 4)
        {
            UINT a = p[3];
            for (int c = 0; c < 3; c++)
            {
                if (bPremultiply)
                    p[c] = (BYTE)((UINT)p[c] * a / 255u);
                else if (a != 0)
                {
                    // colour bytes above their alpha cannot be exact; keep them at white
                    UINT v = (UINT)p[c] * 255u / a;
                    p[c] = (BYTE)(v > 255u ? 255u : v);
                }
            }
        }
    }
    OnContentChanged();
}

bool CExtBitmap::_ClipRect(const RECT* pRect, RECT& rc) const
{
    if (m_pImageBuffer == NULL)
        return false;
    LONG cx = m_pImageBuffer->biWidth, cy = m_pImageBuffer->biHeight;
    if (pRect == NULL)
    {
        rc.left = rc.top = 0;
        rc.right = cx;
        rc.bottom = cy;
    }
    else
    {
        rc = *pRect;
        if (rc.left < 0)
            rc.left = 0;
        if (rc.top < 0)
            rc.top = 0;
        if (rc.right > cx)
            rc.right = cx;
        if (rc.bottom > cy)
            rc.bottom = cy;
    }
    return rc.left < rc.right && rc.top < rc.bottom;
}

bool CExtBitmap::AdjustAlpha(double dAlpha, const RECT* pRect)
{
    if (m_pImageBuffer == NULL || m_pImageBuffer->biBitCount < 15)
        return false;
    if (dAlpha == 0.0)
        return true;
    RECT rc;
    if (!_ClipRect(pRect, rc))
        return false;
    // only a 32-bit image stores alpha; other depths read 255 and cannot keep a change
    if (m_pImageBuffer->biBitCount == 32)
    {
        ULONG nStride = GetStride(m_pImageBuffer->biWidth, 32);
        for (LONG y = rc.top; y < rc.bottom; y++)
        {
            LPBYTE p = GetScanLine(m_pImageBuffer, m_pImageBuffer->biHeight - 1 - y, nStride) + rc.left * 4;
            for (LONG x = rc.left; x < rc.right; x++, p += 4)
            {
                if (p[3] == 0)
                    continue;
                double a = p[3] / 255.0;
                double a2 = (dAlpha > 0.0) ? (a + dAlpha * (1.0 - a)) : (a * (dAlpha + 1.0));
                if (a2 < 0.0)
                    a2 = 0.0;
                if (a2 > 1.0)
                    a2 = 1.0;
                BYTE n = (BYTE)(INT)(a2 * 255.0);
                if (n != p[3])
                    p[3] = n;
            }
        }
    }
    OnContentChanged();
    return true;
}

bool CExtBitmap::AdjustHLS(COLORREF clrTransparent, COLORREF clrTolerance, double dH, double dL,
                           double dS, const RECT* pRect)
{
    if (m_pImageBuffer == NULL || m_pImageBuffer->biBitCount < 15)
        return false;
    if (dH == 0.0 && dL == 0.0 && dS == 0.0)
        return true;
    RECT rc;
    if (!_ClipRect(pRect, rc))
        return false;
    ULONG nStride = GetStride(m_pImageBuffer->biWidth, m_pImageBuffer->biBitCount);
    const CExtColorKeyRange keep(clrTransparent, clrTolerance);
    for (LONG y = rc.top; y < rc.bottom; y++)
    {
        int nRow = m_pImageBuffer->biHeight - 1 - y;
        for (LONG x = rc.left; x < rc.right; x++)
        {
            RGBQUAD q;
            ReadQuad(m_pImageBuffer, nStride, x, nRow, q);
            if (clrTransparent != COLORREF(-1L) && keep.Contains(q.rgbRed, q.rgbGreen, q.rgbBlue))
                continue;
            COLORREF clr = RGB(q.rgbRed, q.rgbGreen, q.rgbBlue);
            clr = stat_HLS_Adjust(clr, dH, dL, dS);
            q.rgbRed = GetRValue(clr);
            q.rgbGreen = GetGValue(clr);
            q.rgbBlue = GetBValue(clr);
            WriteQuad(m_pImageBuffer, nStride, x, nRow, q, true, true, true, false);
        }
    }
    OnContentChanged();
    return true;
}

void CExtBitmap::MakeMono(COLORREF clrTint, const RECT* pRect)
{
    if (m_pImageBuffer == NULL || m_pImageBuffer->biBitCount < 15)
        return;
    RECT rc;
    if (!_ClipRect(pRect, rc))
        return;
    double h = 0.0, s = 0.0, l = 0.0;
    bool bTint = clrTint != COLORREF(-1L);
    if (bTint)
        stat_RGB2HLS(clrTint, h, s, l);
    ULONG nStride = GetStride(m_pImageBuffer->biWidth, m_pImageBuffer->biBitCount);
    for (LONG y = rc.top; y < rc.bottom; y++)
    {
        int nRow = m_pImageBuffer->biHeight - 1 - y;
        for (LONG x = rc.left; x < rc.right; x++)
        {
            RGBQUAD q;
            ReadQuad(m_pImageBuffer, nStride, x, nRow, q);
            double fGrey = 0.3 * q.rgbBlue + 0.5 * q.rgbGreen + 0.2 * q.rgbRed;
            if (fGrey > 255.0)
                fGrey = 255.0;
            int nGrey = (int)fGrey;
            if (bTint)
            {
                COLORREF clr = stat_HLS2RGB(h, nGrey / 255.0, s);
                q.rgbRed = GetRValue(clr);
                q.rgbGreen = GetGValue(clr);
                q.rgbBlue = GetBValue(clr);
            }
            else
                q.rgbRed = q.rgbGreen = q.rgbBlue = (BYTE)nGrey;
            WriteQuad(m_pImageBuffer, nStride, x, nRow, q, true, true, true, false);
        }
    }
    OnContentChanged();
}

void CExtBitmap::SetAlphaForColor(COLORREF clrKey, COLORREF clrTolerance, BYTE nAlpha,
                                  const RECT* pRect)
{
    if (m_pImageBuffer == NULL || m_pImageBuffer->biBitCount != 32)
        return;
    RECT rc;
    if (!_ClipRect(pRect, rc))
        return;
    ULONG nStride = GetStride(m_pImageBuffer->biWidth, 32);
    const CExtColorKeyRange key(clrKey, clrTolerance);
    for (LONG y = rc.top; y < rc.bottom; y++)
    {
        LPBYTE p = GetScanLine(m_pImageBuffer, m_pImageBuffer->biHeight - 1 - y, nStride) + rc.left * 4;
        for (LONG x = rc.left; x < rc.right; x++, p += 4)
        {
            if (key.Contains(p[2], p[1], p[0]))
                p[3] = nAlpha;
        }
    }
    OnContentChanged();
}

void CExtBitmap::AssignAlpha(const RECT& rcArea, BYTE nAlpha, COLORREF clrTransparent,
                             COLORREF clrOpaque)
{
    if (m_pImageBuffer == NULL || m_pImageBuffer->biBitCount != 32)
        return;
    RECT rc;
    if (!_ClipRect(&rcArea, rc))
        return;
    bool bAll = clrTransparent == COLORREF(-1L) && clrOpaque == COLORREF(-1L);
    ULONG nStride = GetStride(m_pImageBuffer->biWidth, 32);
    for (LONG y = rc.top; y < rc.bottom; y++)
    {
        LPBYTE p = GetScanLine(m_pImageBuffer, m_pImageBuffer->biHeight - 1 - y, nStride) + rc.left * 4;
        for (LONG x = rc.left; x < rc.right; x++, p += 4)
        {
            if (bAll)
            {
                p[3] = nAlpha;
                continue;
            }
            COLORREF clr = RGB(p[2], p[1], p[0]);
            if (clr == clrTransparent)
                p[3] = 0;
            else if (clr == clrOpaque)
                p[3] = 255;
            else
                p[3] = nAlpha;
        }
    }
    OnContentChanged();
}

UINT CExtBitmap::CollectColors(CMap<COLORREF, COLORREF, ULONG, ULONG>& mapColors) const
{
    mapColors.RemoveAll();
    if (m_pImageBuffer == NULL)
        return 0;
    CSize sz = GetSize();
    for (int y = 0; y < sz.cy; y++)
    {
        for (int x = 0; x < sz.cx; x++)
        {
            COLORREF clr = GetPixelColor(x, y, NULL);
            ULONG nCount = 0;
            if (mapColors.Lookup(clr, nCount))
                mapColors.SetAt(clr, nCount + 1);
            else
                mapColors.SetAt(clr, 1);
        }
    }
    return m_pImageBuffer->biBitCount;
}

UINT CExtBitmap::CollectColors(CArray<COLORREF, COLORREF>& arrColors) const
{
    arrColors.RemoveAll();
    CMap<COLORREF, COLORREF, ULONG, ULONG> mapColors(10);
    UINT nBPP = CollectColors(mapColors);
    POSITION pos = mapColors.GetStartPosition();
    while (pos != NULL)
    {
        COLORREF clr = 0;
        ULONG nCount = 0;
        mapColors.GetNextAssoc(pos, clr, nCount);
        arrColors.Add(clr);
    }
    return nBPP;
}
