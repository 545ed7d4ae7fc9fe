// BMP streams in and out of CExtBitmap: the reader (all depths, BI_RGB, BI_BITFIELDS,
// BI_RLE8, BI_RLE4, 40/108/124-byte headers, with or without the file header), the
// writer (RLE8 for 8-bit images when asked) and the archive, file, buffer and
// resource forms built on them.
//
// Streams come from files and resources that anybody may supply. The reader never
// trusts a size: blocks are bounded (see AllocBlock), compressed data is clipped to
// the image, and a stream that ends early leaves the rest of the image zero.
// OS/2 core headers (12 or 64 bytes) are not supported: they fail as too small or
// are read as a damaged info header.
#include "framework/framework.h"
#include "toolkit/core/bitmap.h"
#include "toolkit/core/resource_manager.h"

#include <string.h>
#include <vector>

namespace {

const DWORD kMaxHeaderSize = 124;     // BITMAPV5HEADER, the largest there is
const DWORD kMaxGapBeforeBits = 65536; // a bfOffBits further away is not believed
const LONGLONG kMaxReadSide = 32767;   // wider or taller images in a stream are not believed
// A stream known to end early may still load (it keeps what arrived), but only when at
// least about half of its rows are there: otherwise a few bytes could make the reader
// allocate a huge block for an image that holds nothing.
const ULONGLONG kShortTailSlack = 65536;

// Whether the rest of the stream could hold an uncompressed image of nBytes, allowing for
// a short tail.
bool CanHoldPixels(const CArchive& ar, ULONGLONG nBytes)
{
    if (nBytes <= kShortTailSlack)
        return true;
    return ar.CanHoldBytes((nBytes - kShortTailSlack) / 2) != FALSE;
}

void ReadExact(CArchive& ar, void* pBuf, UINT nSize)
{
    if (nSize == 0)
        return;
    UINT nRead = ar.Read(pBuf, nSize);
    if (nRead < nSize)
        AfxThrowArchiveException(CArchiveException::endOfFile);
}

BYTE ReadByte(CArchive& ar)
{
    BYTE b = 0;
    ReadExact(ar, &b, 1);
    return b;
}

void SkipBytes(CArchive& ar, DWORD nSize)
{
    BYTE buf[256];
    while (nSize > 0)
    {
        UINT nChunk = nSize > sizeof(buf) ? (UINT)sizeof(buf) : (UINT)nSize;
        ReadExact(ar, buf, nChunk);
        nSize -= nChunk;
    }
}

void DecodeRLE8(CArchive& ar, LPBITMAPINFOHEADER pBlock)
{
    const int nWidth = pBlock->biWidth;
    const int nHeight = pBlock->biHeight;
    const ULONG nStride = CExtBitmap::GetStride(nWidth, 8);
    int x = 0, y = 0;
    for (;;)
    {
        BYTE nCount = ReadByte(ar);
        if (nCount == 0)
        {
            BYTE nCode = ReadByte(ar);
            if (nCode == 0)
            {
                x = 0;
                if (y < nHeight)
                    y++;
            }
            else if (nCode == 1)
                return;
            else if (nCode == 2)
            {
                int dx = ReadByte(ar);
                int dy = ReadByte(ar);
                x = (x + dx > nWidth) ? nWidth : x + dx;
                y = (y + dy > nHeight) ? nHeight : y + dy;
            }
            else
            {
                if (y >= nHeight)
                    return;
                // an absolute run: every byte is read, those that fit are kept, and the
                // run's padding follows so that the stream stays in step
                LPBYTE pRow = CExtBitmap::GetScanLine(pBlock, y, nStride);
                for (int i = 0; i < nCode; i++)
                {
                    BYTE b = ReadByte(ar);
                    if (x + i < nWidth)
                        pRow[x + i] = b;
                }
                if (nCode & 1)
                    ReadByte(ar);
                x = (x + nCode > nWidth) ? nWidth : x + nCode;
            }
        }
        else
        {
            if (y >= nHeight)
                return;
            BYTE nValue = ReadByte(ar);
            LPBYTE pRow = CExtBitmap::GetScanLine(pBlock, y, nStride);
            int n = nWidth - x;
            if (n > nCount)
                n = nCount;
            for (int i = 0; i < n; i++)
                pRow[x + i] = nValue;
            if (n > 0)
                x += n;
        }
    }
}

// RLE4 works on bytes of the row plus a nibble flag (set: the low half is next).
// The i-th pixel of a run takes the high nibble of its data for even i and the low
// one for odd i; an absolute run always consumes its ceil(n / 2) data bytes and the
// padding to a word, so odd positions cannot throw the stream out of step. Pixels
// beyond the row's width or above the image are dropped.
void DecodeRLE4(CArchive& ar, LPBITMAPINFOHEADER pBlock)
{
    const int nWidth = pBlock->biWidth;
    const int nHeight = pBlock->biHeight;
    const ULONG nStride = CExtBitmap::GetStride(nWidth, 4);
    const int nMaxX = (nWidth + 1) / 2;
    int x = 0, y = 0;
    bool bLow = false;
    auto put = [&](BYTE nNibble) {
        int nPixel = x * 2 + (bLow ? 1 : 0);
        if (y < nHeight && nPixel < nWidth)
        {
            LPBYTE pRow = CExtBitmap::GetScanLine(pBlock, y, nStride);
            pRow[x] |= bLow ? (BYTE)(nNibble & 0x0F) : (BYTE)((nNibble & 0x0F) << 4);
        }
        if (bLow)
        {
            if (x < nMaxX)
                x++;
            bLow = false;
        }
        else
            bLow = true;
    };
    for (;;)
    {
        BYTE nCount = ReadByte(ar);
        if (nCount > 0)
        {
            if (y >= nHeight)
                return;
            BYTE nValue = ReadByte(ar);
            for (int i = 0; i < nCount; i++)
                put((i & 1) ? (BYTE)(nValue & 0x0F) : (BYTE)(nValue >> 4));
            continue;
        }
        BYTE nCode = ReadByte(ar);
        if (nCode == 0)
        {
            x = 0;
            if (y < nHeight)
                y++;
            bLow = false;
        }
        else if (nCode == 1)
            return;
        else if (nCode == 2)
        {
            int dx = ReadByte(ar);
            int dy = ReadByte(ar);
            x = (x + dx / 2 > nMaxX) ? nMaxX : x + dx / 2;
            y = (y + dy > nHeight) ? nHeight : y + dy;
        }
        else
        {
            if (y >= nHeight)
                return;
            BYTE data[128];
            int nBytes = (nCode + 1) / 2;
            ReadExact(ar, data, (UINT)nBytes);
            for (int i = 0; i < nCode; i++)
                put((i & 1) ? (BYTE)(data[i / 2] & 0x0F) : (BYTE)(data[i / 2] >> 4));
            if (nBytes & 1)
                ReadByte(ar);
        }
    }
}

void EncodeRLE8Row(const BYTE* pRow, int w, std::vector<BYTE>& out)
{
    BYTE lit[254];
    int nLit = 0;
    auto flush = [&]() {
        if (nLit == 1)
        {
            out.push_back(1);
            out.push_back(lit[0]);
        }
        else if (nLit == 2)
        {
            out.push_back(1);
            out.push_back(lit[0]);
            out.push_back(1);
            out.push_back(lit[1]);
        }
        else if (nLit >= 3)
        {
            out.push_back(0);
            out.push_back((BYTE)nLit);
            out.insert(out.end(), lit, lit + nLit);
            if (nLit & 1)
                out.push_back(0);
        }
        nLit = 0;
    };
    auto literal = [&](BYTE b) {
        lit[nLit++] = b;
        if (nLit == 254)
            flush();
    };
    int x = 0;
    while (x < w)
    {
        if (x < w - 1 && pRow[x] == pRow[x + 1])
        {
            int L = 2;
            while (x + L < w && pRow[x + L] == pRow[x])
                L++;
            if (L < 4)
            {
                for (int i = 0; i < L; i++)
                    literal(pRow[x]);
            }
            else
            {
                flush();
                int nLeft = L;
                while (nLeft > 0)
                {
                    int n = nLeft > 255 ? 255 : nLeft;
                    out.push_back((BYTE)n);
                    out.push_back(pRow[x]);
                    nLeft -= n;
                }
            }
            x += L;
        }
        else
        {
            literal(pRow[x]);
            x++;
        }
    }
    flush();
    out.push_back(0);
    out.push_back(0);
}

}  // namespace

// ---- reading ---------------------------------------------------------------------------

namespace {

// What the headers of a BMP stream say, as far as the reader needs it.
struct BmpStreamLayout
{
    BITMAPINFOHEADER bih = {};
    DWORD dwOffBits = 0;  // the file header's offset of the rows; 0 without a file header
    DWORD nConsumed = 0;  // bytes read so far
    DWORD arrHeaderMasks[3] = {0, 0, 0};
    bool bMasksInHeader = false;
    DWORD arrMasks[4] = {0, 0, 0, 0};  // red, green, blue, alpha of a high-colour image
    bool bPaletted = false;
    bool bTopDown = false;
    int nHeight = 0;  // the number of rows, whichever way they run
};

// The file header (unless the stream has none) and the info header of any size up to
// the largest there is. False for an info header that is too small or too large.
bool ReadBmpHeaders(CArchive& ar, bool bNoFileHeader, BmpStreamLayout& layout)
{
    if (!bNoFileHeader)
    {
        // bfType is not checked: streams that lost their signature still load
        BYTE arrFileHeader[14];
        ReadExact(ar, arrFileHeader, sizeof(arrFileHeader));
        ::memcpy(&layout.dwOffBits, arrFileHeader + 10, 4);
        layout.nConsumed += 14;
    }
    BITMAPINFOHEADER& bih = layout.bih;
    ReadExact(ar, &bih.biSize, 4);
    if (bih.biSize < sizeof(BITMAPINFOHEADER) || bih.biSize > kMaxHeaderSize)
        return false;
    ReadExact(ar, ((BYTE*)&bih) + 4, sizeof(bih) - 4);
    if (bih.biSize > sizeof(BITMAPINFOHEADER))
    {
        // the newer headers carry the bit-field masks themselves; the rest is skipped
        BYTE arrExtra[kMaxHeaderSize];
        const DWORD nExtra = bih.biSize - sizeof(BITMAPINFOHEADER);
        ReadExact(ar, arrExtra, nExtra);
        if (nExtra >= 12)
        {
            ::memcpy(layout.arrHeaderMasks, arrExtra, 12);
            layout.bMasksInHeader = true;
        }
    }
    layout.nConsumed += bih.biSize;
    return true;
}

// Whether the sides are believable; also notes which way the rows run.
bool BmpSidesBelievable(BmpStreamLayout& layout)
{
    const LONGLONG nSignedHeight = layout.bih.biHeight;
    layout.bTopDown = nSignedHeight < 0;
    const LONGLONG nAbsHeight = layout.bTopDown ? -nSignedHeight : nSignedHeight;
    if (nAbsHeight > kMaxReadSide || layout.bih.biWidth > kMaxReadSide)
        return false;
    layout.nHeight = (int)nAbsHeight;
    return true;
}

// The colour masks of a high-colour image: from the stream for bit fields, otherwise
// the depth's defaults. False for a depth the reader does not know.
bool ReadBmpColorMasks(CArchive& ar, BmpStreamLayout& layout)
{
    const int nBPP = layout.bih.biBitCount;
    DWORD* arrMasks = layout.arrMasks;
    switch (nBPP)
    {
    case 1:
    case 4:
    case 8:
        layout.bPaletted = true;
        return true;
    case 16:
    case 24:
    case 32:
        break;
    default:
        return false;
    }
    if (layout.bih.biCompression == BI_BITFIELDS)
    {
        if (!layout.bMasksInHeader)
        {
            ReadExact(ar, layout.arrHeaderMasks, 12);
            layout.nConsumed += 12;
        }
        arrMasks[0] = layout.arrHeaderMasks[0];
        arrMasks[1] = layout.arrHeaderMasks[1];
        arrMasks[2] = layout.arrHeaderMasks[2];
    }
    else if (nBPP == 16)
    {
        arrMasks[0] = 0x7C00;
        arrMasks[1] = 0x03E0;
        arrMasks[2] = 0x001F;
    }
    else
    {
        arrMasks[0] = 0x00FF0000;
        arrMasks[1] = 0x0000FF00;
        arrMasks[2] = 0x000000FF;
        if (nBPP == 32)
            arrMasks[3] = 0xFF000000;
    }
    return true;
}

// An uncompressed image must fit in what is left of the stream (allowing a short tail),
// so that a few bytes cannot make the reader allocate a huge block.
bool BmpStreamCanHoldRows(const CArchive& ar, const BmpStreamLayout& layout)
{
    const BITMAPINFOHEADER& bih = layout.bih;
    const bool bCompressed = layout.bPaletted && (bih.biCompression == BI_RLE8 || bih.biCompression == BI_RLE4);
    if (bCompressed || bih.biWidth <= 0 || layout.nHeight <= 0)
        return true;
    return CanHoldPixels(ar, (ULONGLONG)CExtBitmap::GetStride(bih.biWidth, bih.biBitCount) * (ULONGLONG)layout.nHeight);
}

void ReadBmpPalette(CArchive& ar, BmpStreamLayout& layout, LPBITMAPINFOHEADER pBlock)
{
    const DWORD nMaxEntries = (DWORD)CExtBitmap::GetPaletteSize(layout.bih.biBitCount);
    const DWORD nClrUsed = layout.bih.biClrUsed;
    const DWORD nEntries = (nClrUsed >= 1 && nClrUsed <= nMaxEntries) ? nClrUsed : nMaxEntries;
    ReadExact(ar, ((BYTE*)pBlock) + sizeof(BITMAPINFOHEADER), nEntries * 4);
    layout.nConsumed += nEntries * 4;
}

void SkipToBmpRows(CArchive& ar, const BmpStreamLayout& layout, bool bNoFileHeader)
{
    // A believable bfOffBits says where the rows start (newer writers leave gaps).
    // Without one, a high-colour image's optional colour table (biClrUsed entries)
    // is stepped over as the format defines it.
    if (!bNoFileHeader && layout.dwOffBits >= layout.nConsumed &&
        layout.dwOffBits - layout.nConsumed <= kMaxGapBeforeBits)
        SkipBytes(ar, layout.dwOffBits - layout.nConsumed);
    else if (!layout.bPaletted && layout.bih.biClrUsed >= 1 && layout.bih.biClrUsed <= 256)
        SkipBytes(ar, layout.bih.biClrUsed * 4);
}

void ReadBmpUncompressedRows(CArchive& ar, const BmpStreamLayout& layout, LPBITMAPINFOHEADER pBlock)
{
    const int nHeight = layout.nHeight;
    const ULONG nStride = CExtBitmap::GetStride(layout.bih.biWidth, layout.bih.biBitCount);
    if (!layout.bTopDown)
        ReadExact(ar, CExtBitmap::GetBitsPtr(pBlock), (UINT)(nStride * (ULONG)nHeight));
    else
        for (int i = 0; i < nHeight; i++)
            ReadExact(ar, CExtBitmap::GetScanLine(pBlock, nHeight - 1 - i, nStride), nStride);
}

void ReadBmpRows(CArchive& ar, const BmpStreamLayout& layout, LPBITMAPINFOHEADER pBlock)
{
    const DWORD dwCompression = layout.bih.biCompression;
    const int nBPP = layout.bih.biBitCount;
    if (!layout.bPaletted || dwCompression == BI_RGB)
        ReadBmpUncompressedRows(ar, layout, pBlock);
    else if (dwCompression == BI_RLE8 && nBPP == 8)
        DecodeRLE8(ar, pBlock);
    else if (dwCompression == BI_RLE4 && nBPP == 4)
        DecodeRLE4(ar, pBlock);
    // any other compression: the rows stay zero
}

// A stream refused for its content: an exception when the caller asked for one.
LPBITMAPINFOHEADER RefuseBmp(bool bEnableThrowException)
{
    if (bEnableThrowException)
        AfxThrowUserException();
    return NULL;
}

}  // namespace

LPBITMAPINFOHEADER CExtBitmap::ReadBMP(CArchive& ar, bool bEnableThrowException, bool bNoFileHeader)
{
    LPBITMAPINFOHEADER pBlock = NULL;
    try
    {
        BmpStreamLayout layout;
        if (!ReadBmpHeaders(ar, bNoFileHeader, layout))
            return NULL;
        if (!BmpSidesBelievable(layout))
            return RefuseBmp(bEnableThrowException);
        if (!ReadBmpColorMasks(ar, layout))
            return NULL;
        if (!BmpStreamCanHoldRows(ar, layout))
            return RefuseBmp(bEnableThrowException);
        const BITMAPINFOHEADER& bih = layout.bih;
        const DWORD* arrMasks = layout.arrMasks;
        pBlock =
            AllocBlock(bih.biWidth, layout.nHeight, bih.biBitCount, arrMasks[0], arrMasks[1], arrMasks[2], arrMasks[3]);
        if (pBlock == NULL)
            return RefuseBmp(bEnableThrowException);
        pBlock->biXPelsPerMeter = bih.biXPelsPerMeter;
        pBlock->biYPelsPerMeter = bih.biYPelsPerMeter;
        if (layout.bPaletted)
            ReadBmpPalette(ar, layout, pBlock);
        SkipToBmpRows(ar, layout, bNoFileHeader);
        ReadBmpRows(ar, layout, pBlock);
    }
    catch (CException* e)
    {
        if (bEnableThrowException)
        {
            FreeBlock(pBlock);
            throw;
        }
        e->Delete();
        // a truncated stream keeps what arrived
        return pBlock;
    }
    catch (...)
    {
        FreeBlock(pBlock);
        if (bEnableThrowException)
            throw;
        return NULL;
    }
    return pBlock;
}

// ---- writing ---------------------------------------------------------------------------

void CExtBitmap::WriteBMP(LPBITMAPINFOHEADER pBlock, CArchive& ar, bool bEnableThrowException,
                          bool bUseRLE8)
{
    if (pBlock == NULL)
        return;
    try
    {
        const int nBPP = pBlock->biBitCount;
        const ULONG nStride = GetStride(pBlock->biWidth, nBPP);
        const ULONG nRowBytes = nStride * (ULONG)pBlock->biHeight;
        const bool bRLE = bUseRLE8 && nBPP == 8;

        // RLE8 codes are made first so that the headers can give their true size
        std::vector<BYTE> codes;
        if (bRLE)
        {
            codes.reserve(nRowBytes / 2 + 64);
            for (int nRow = 0; nRow < pBlock->biHeight; nRow++)
                EncodeRLE8Row(GetScanLine(pBlock, nRow, nStride), pBlock->biWidth, codes);
            codes.push_back(0);
            codes.push_back(1);
        }

        BITMAPINFOHEADER bih = *pBlock;
        bih.biSize = sizeof(BITMAPINFOHEADER);
        if (nBPP == 16)
            bih.biCompression = BI_BITFIELDS;
        else if (bRLE)
            bih.biCompression = BI_RLE8;
        else
            bih.biCompression = BI_RGB;
        DWORD nPaletteEntries = nBPP < 16 ? pBlock->biClrUsed : 0;
        if (nPaletteEntries > (DWORD)GetPaletteSize(nBPP))
            nPaletteEntries = (DWORD)GetPaletteSize(nBPP);

        DWORD nOffBits = 54 + 4 * nPaletteEntries + (nBPP == 16 ? 12 : 0);
        DWORD nDataBytes = bRLE ? (DWORD)codes.size() : nRowBytes;
        if (bRLE)
            bih.biSizeImage = nDataBytes;

        BYTE fh[14];
        WORD wType = 0x4D42;
        DWORD nFileSize = nOffBits + nDataBytes;
        WORD wZero = 0;
        ::memcpy(fh + 0, &wType, 2);
        ::memcpy(fh + 2, &nFileSize, 4);
        ::memcpy(fh + 6, &wZero, 2);
        ::memcpy(fh + 8, &wZero, 2);
        ::memcpy(fh + 10, &nOffBits, 4);
        ar.Write(fh, sizeof(fh));
        ar.Write(&bih, sizeof(bih));
        if (nBPP == 16)
            ar.Write(GetMaskPtr(pBlock), 12);
        if (nPaletteEntries > 0)
            ar.Write(((BYTE*)pBlock) + sizeof(BITMAPINFOHEADER), nPaletteEntries * 4);
        if (bRLE)
            ar.Write(codes.data(), (UINT)codes.size());
        else
            ar.Write(GetBitsPtr(pBlock), nRowBytes);
    }
    catch (CException* e)
    {
        if (bEnableThrowException)
            throw;
        e->Delete();
    }
    catch (...)
    {
        if (bEnableThrowException)
            throw;
    }
}

// ---- archive, file, buffer, resource ---------------------------------------------------

bool CExtBitmap::LoadFromArchive(CArchive& ar, bool bMake32, bool bEnableThrowException,
                                 bool bNoFileHeader)
{
    Empty();
    LPBITMAPINFOHEADER pBlock = ReadBMP(ar, bEnableThrowException, bNoFileHeader);
    if (pBlock == NULL)
        return false;
    m_pImageBuffer = pBlock;
    OnLoad();
    if (bMake32)
        return Make32(bEnableThrowException);
    return true;
}

bool CExtBitmap::LoadFromFile(CFile& file, bool bMake32, bool bEnableThrowException, bool bNoFileHeader)
{
    CArchive ar(&file, CArchive::load, 4096);
    return LoadFromArchive(ar, bMake32, bEnableThrowException, bNoFileHeader);
}

bool CExtBitmap::LoadFromBuffer(const BYTE* pData, DWORD nSize, bool bMake32, bool bEnableThrowException,
                                bool bNoFileHeader)
{
    Empty();
    if (pData == NULL || nSize == 0)
    {
        if (bEnableThrowException)
            AfxThrowUserException();
        return false;
    }
    CMemFile file(const_cast<BYTE*>(pData), nSize);
    return LoadFromFile(file, bMake32, bEnableThrowException, bNoFileHeader);
}

bool CExtBitmap::LoadFromResource(HINSTANCE hInst, HRSRC hRsrc, bool bMake32, bool bEnableThrowException)
{
    Empty();
    try
    {
        HGLOBAL hGlobal = (hRsrc != NULL) ? ::LoadResource(hInst, hRsrc) : NULL;
        const BYTE* pData = (hGlobal != NULL) ? (const BYTE*)::LockResource(hGlobal) : NULL;
        DWORD nSize = (pData != NULL) ? ::SizeofResource(hInst, hRsrc) : 0;
        if (pData == NULL || nSize == 0)
        {
            if (bEnableThrowException)
                AfxThrowUserException();
            return false;
        }
        // no grow step: a memory file that may grow ignores the bytes it is given,
        // and resource memory is read-only anyway
        CMemFile file(const_cast<BYTE*>(pData), nSize);
        CArchive ar(&file, CArchive::load, 4096);
        return LoadFromArchive(ar, bMake32, bEnableThrowException, true);
    }
    catch (CException* e)
    {
        if (bEnableThrowException)
            throw;
        e->Delete();
    }
    catch (...)
    {
        if (bEnableThrowException)
            throw;
    }
    Empty();
    return false;
}

bool CExtBitmap::LoadFromResource(LPCTSTR lpszResourceName, LPCTSTR lpszResourceType, HINSTANCE hInst,
                                  bool bMake32, bool bEnableThrowException)
{
    Empty();
    if (hInst == NULL)
        hInst = stat_FindResourceHandle(lpszResourceType, lpszResourceName);
    HRSRC hRsrc = (hInst != NULL) ? ::FindResource(hInst, lpszResourceName, lpszResourceType) : NULL;
    if (hRsrc == NULL)
    {
        if (bEnableThrowException)
            AfxThrowUserException();
        return false;
    }
    return LoadFromResource(hInst, hRsrc, bMake32, bEnableThrowException);
}

void CExtBitmap::Serialize(CArchive& ar)
{
    if (ar.IsStoring())
    {
        DWORD dwFlags = IsEmpty() ? 1 : 0;
        ar << dwFlags;
        if (!IsEmpty())
            WriteBMP(m_pImageBuffer, ar, true, true);
        return;
    }
    Empty();
    DWORD dwFlags = 0;
    ar >> dwFlags;
    if ((dwFlags & 1) != 0)
        return;
    LPBITMAPINFOHEADER pBlock = ReadBMP(ar, true, false);
    if (pBlock == NULL)
    {
        // the stream cannot be followed past an image we could not read
        AfxThrowArchiveException(CArchiveException::badSchema);
    }
    m_pImageBuffer = pBlock;
    OnContentChanged();
}

HINSTANCE CExtBitmap::stat_FindResourceHandle(LPCTSTR lpszType, LPCTSTR lpszName)
{
    // the resource manager knows the modules and languages the toolkit loads from
    CExtResourceManager* pManager = g_CurrentResourceManager.GetCurrent();
    HINSTANCE hInst = (pManager != NULL) ? pManager->FindResourceHandle(lpszType, lpszName) : NULL;
    if (hInst == NULL)
        hInst = AfxFindResourceHandle(lpszName, lpszType);
    if (hInst == NULL)
        hInst = ::GetModuleHandle(NULL);
    return hInst;
}
