// The four small pictures built into the paint manager (LoadBuiltinImage): two 9x9
// images keyed on magenta and two 11x11 images whose corner pixels are transparent.
// They are kept as pixel maps and turned into BMP streams (306 and 451 bytes) when
// loaded, so that they go through the same reader as any other image.
#include "toolkit/theme/paint_manager.h"
#include "toolkit/core/cmd_icon.h"

#include <vector>

namespace {

// '.' magenta (the transparent key), '#' black, 'b' blue, 'w' white, 'g' green.
const char* const g_arrSmallFirst[9] = {
    ".........", ".........", ".#######.", "..#####..", "...###...",
    "....#....", ".........", ".........", ".........",
};
const char* const g_arrSmallSecond[9] = {
    ".........", ".##...##.", "..##.##..", "...###...", "....#....",
    "...###...", "..##.##..", ".##...##.", ".........",
};
const char* const g_arrLargeFirst[11] = {
    "bbbbbbbbbbb", "bbbbbbbbbbb", "bbbbbbbbbwb", "bbbbbbbbwwb", "bwbbbbbwwbb", "bwwbbbwwbbb",
    "bbwwbwwbbbb", "bbbwwwbbbbb", "bbbbwbbbbbb", "bbbbbbbbbbb", "bbbbbbbbbbb",
};
const char* const g_arrLargeSecond[11] = {
    "ggggggggggg", "ggggggggggg", "ggggwwwgggg", "ggggwwwgggg", "ggwwwwwwwgg", "ggwwwwwwwgg",
    "ggwwwwwwwgg", "ggggwwwgggg", "ggggwwwgggg", "ggggggggggg", "ggggggggggg",
};

RGBQUAD ColorOf(char c)
{
    RGBQUAD q = {0, 0, 0, 0};  // blue, green, red, reserved
    switch (c)
    {
    case '.':
        q.rgbRed = 255;
        q.rgbBlue = 255;
        break;
    case 'b':
        q.rgbRed = 0x31;
        q.rgbGreen = 0x6A;
        q.rgbBlue = 0xC5;
        break;
    case 'w':
        q.rgbRed = q.rgbGreen = q.rgbBlue = 255;
        break;
    case 'g':
        q.rgbGreen = 0x80;
        break;
    default:
        break;
    }
    return q;
}

void PutWord(std::vector<BYTE>& v, size_t nAt, WORD w)
{
    v[nAt] = LOBYTE(w);
    v[nAt + 1] = HIBYTE(w);
}

void PutDword(std::vector<BYTE>& v, size_t nAt, DWORD d)
{
    PutWord(v, nAt, LOWORD(d));
    PutWord(v, nAt + 2, HIWORD(d));
}

// A 24-bit bottom-up BMP stream with its file header, padded to nTotalSize bytes.
std::vector<BYTE> MakeBmp(const char* const* pRows, int nSize, size_t nTotalSize)
{
    const size_t nStride = ((size_t)nSize * 3 + 3) & ~(size_t)3;
    const size_t nImage = nStride * nSize;
    std::vector<BYTE> v(nTotalSize < 54 + nImage ? 54 + nImage : nTotalSize, 0);
    v[0] = 'B';
    v[1] = 'M';
    PutDword(v, 2, (DWORD)v.size());
    PutDword(v, 10, 54);
    PutDword(v, 14, 40);
    PutDword(v, 18, (DWORD)nSize);
    PutDword(v, 22, (DWORD)nSize);
    PutWord(v, 26, 1);
    PutWord(v, 28, 24);
    PutDword(v, 30, BI_RGB);
    PutDword(v, 34, (DWORD)nImage);
    for (int y = 0; y < nSize; y++)
    {
        BYTE* pRow = &v[54 + nStride * (size_t)(nSize - 1 - y)];
        for (int x = 0; x < nSize; x++)
        {
            const RGBQUAD q = ColorOf(pRows[y][x]);
            pRow[x * 3] = q.rgbBlue;
            pRow[x * 3 + 1] = q.rgbGreen;
            pRow[x * 3 + 2] = q.rgbRed;
        }
    }
    return v;
}

}  // namespace

void CExtPaintManager::LoadBuiltinImage(CExtCmdIcon& icon, bool bFirstVariant, bool bLargeVariant)
{
    icon.Empty();
    std::vector<BYTE> bmp =
        bLargeVariant ? MakeBmp(bFirstVariant ? g_arrLargeFirst : g_arrLargeSecond, 11, 451)
                      : MakeBmp(bFirstVariant ? g_arrSmallFirst : g_arrSmallSecond, 9, 306);
    CExtBitmap image;
    if (!image.LoadFromBuffer(bmp.data(), (DWORD)bmp.size()))
        return;
    HBITMAP hBitmap = image.CreateHBITMAP();
    if (hBitmap == NULL)
        return;
    if (!bLargeVariant)
    {
        icon.AssignFromHBITMAP(hBitmap, RGB(255, 0, 255), NULL, false);
        return;
    }
    icon.AssignFromHBITMAP(hBitmap, COLORREF(-1), NULL, false);
    if (icon.IsEmpty() || !icon.m_bmpNormal.Make32())
        return;
    const RGBQUAD clear = {0, 0, 0, 0};
    const int n = 10;
    icon.m_bmpNormal.SetPixel(0, 0, clear);
    icon.m_bmpNormal.SetPixel(n, 0, clear);
    icon.m_bmpNormal.SetPixel(0, n, clear);
    icon.m_bmpNormal.SetPixel(n, n, clear);
    icon.OnContentChanged();
}
