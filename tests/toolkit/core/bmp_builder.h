// Images for the bitmap tests, made from hand-made BMP streams (support/bmp_bytes.h)
// through the bitmap's own reader, and their pixels read back.
#pragma once
#include <windows.h>
#include <vector>

#include "framework/framework.h"
#include "support/bmp_bytes.h"
#include "toolkit/core/bitmap.h"

namespace bmptest {

// A 32-bit image of the given size, every pixel from f(x, y) as 0xAARRGGBB.
template <class F>
inline bool Make32(CExtBitmap& bmp, int cx, int cy, F f)
{
    BmpLayout s;
    s.width = cx;
    s.height = -cy;
    s.bpp = 32;
    for (int y = 0; y < cy; y++)
        for (int x = 0; x < cx; x++)
            Put32(s.bits, (DWORD)f(x, y));
    std::vector<BYTE> data = Build(s);
    return bmp.LoadFromBuffer(data.data(), (DWORD)data.size());
}

// A 24-bit image, each pixel from f(x, y) as a COLORREF.
template <class F>
inline bool Make24(CExtBitmap& bmp, int cx, int cy, F f)
{
    BmpLayout s;
    s.width = cx;
    s.height = -cy;
    s.bpp = 24;
    int stride = (cx * 3 + 3) & ~3;
    for (int y = 0; y < cy; y++)
    {
        for (int x = 0; x < cx; x++)
        {
            COLORREF c = f(x, y);
            s.bits.push_back(GetBValue(c));
            s.bits.push_back(GetGValue(c));
            s.bits.push_back(GetRValue(c));
        }
        for (int p = cx * 3; p < stride; p++)
            s.bits.push_back(0);
    }
    std::vector<BYTE> data = Build(s);
    return bmp.LoadFromBuffer(data.data(), (DWORD)data.size());
}

inline DWORD Argb(const CExtBitmap& bmp, int x, int y)
{
    RGBQUAD q;
    if (!bmp.GetPixel(x, y, q))
        return 0xDEADBEEF;
    return ((DWORD)q.rgbReserved << 24) | ((DWORD)q.rgbRed << 16) | ((DWORD)q.rgbGreen << 8) | q.rgbBlue;
}

}  // namespace bmptest
