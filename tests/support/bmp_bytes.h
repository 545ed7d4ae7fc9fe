// Hand-made BMP streams for the image tests and the mutation runs: any header size, depth,
// compression, palette and row order, built byte by byte so that the reader is checked
// against the format rather than against our own writer.
#pragma once
#include <windows.h>
#include <string.h>
#include <vector>

namespace bmptest {

struct BmpLayout
{
    int width = 1;
    int height = 1;          // negative: top-down
    int bpp = 24;
    DWORD compression = BI_RGB;
    DWORD headerSize = 40;   // 40, 108, 124 or anything for damaged streams
    bool fileHeader = true;
    DWORD clrUsed = 0;
    std::vector<RGBQUAD> palette;
    DWORD masks[4] = {0, 0, 0, 0};  // written inside a 108/124 header or after a 40 one for BI_BITFIELDS
    DWORD gapBeforeBits = 0;        // junk bytes between the palette and the pixels (with bfOffBits)
    std::vector<BYTE> bits;         // pixel data exactly as stored
};

// Pixels read through colour masks (BI_BITFIELDS) with these red, green and blue masks.
inline void SetBitFields(BmpLayout& s, DWORD dwRed, DWORD dwGreen, DWORD dwBlue)
{
    s.compression = BI_BITFIELDS;
    s.masks[0] = dwRed;
    s.masks[1] = dwGreen;
    s.masks[2] = dwBlue;
}

// 16-bit pixels in the usual 5-6-5 masks.
inline void SetBitFields565(BmpLayout& s) { SetBitFields(s, 0xF800, 0x07E0, 0x001F); }

inline void Put16(std::vector<BYTE>& v, WORD w)
{
    v.push_back((BYTE)(w & 0xFF));
    v.push_back((BYTE)(w >> 8));
}

inline void Put32(std::vector<BYTE>& v, DWORD d)
{
    for (int i = 0; i < 4; i++)
        v.push_back((BYTE)((d >> (8 * i)) & 0xFF));
}

inline std::vector<BYTE> Build(const BmpLayout& s)
{
    std::vector<BYTE> body;
    Put32(body, s.headerSize);
    Put32(body, (DWORD)s.width);
    Put32(body, (DWORD)s.height);
    Put16(body, 1);
    Put16(body, (WORD)s.bpp);
    Put32(body, s.compression);
    Put32(body, (DWORD)s.bits.size());
    Put32(body, 2835);
    Put32(body, 2835);
    Put32(body, s.clrUsed);
    Put32(body, 0);
    if (s.headerSize > 40)
    {
        // the newer headers: masks first, then colour space data we fill with zeros
        std::vector<BYTE> extra;
        for (int i = 0; i < 4; i++)
            Put32(extra, s.masks[i]);
        extra.resize(s.headerSize - 40, 0);
        body.insert(body.end(), extra.begin(), extra.end());
    }
    else if (s.headerSize == 40 && s.compression == BI_BITFIELDS)
    {
        for (int i = 0; i < 3; i++)
            Put32(body, s.masks[i]);
    }
    for (const RGBQUAD& q : s.palette)
    {
        body.push_back(q.rgbBlue);
        body.push_back(q.rgbGreen);
        body.push_back(q.rgbRed);
        body.push_back(q.rgbReserved);
    }
    for (DWORD i = 0; i < s.gapBeforeBits; i++)
        body.push_back(0xEE);
    DWORD offBits = 14 + (DWORD)body.size();
    body.insert(body.end(), s.bits.begin(), s.bits.end());
    if (!s.fileHeader)
        return body;
    std::vector<BYTE> out;
    out.push_back('B');
    out.push_back('M');
    Put32(out, 14 + (DWORD)body.size());
    Put16(out, 0);
    Put16(out, 0);
    Put32(out, offBits);
    out.insert(out.end(), body.begin(), body.end());
    return out;
}

inline RGBQUAD Quad(BYTE r, BYTE g, BYTE b, BYTE a = 0)
{
    RGBQUAD q;
    q.rgbRed = r;
    q.rgbGreen = g;
    q.rgbBlue = b;
    q.rgbReserved = a;
    return q;
}

}  // namespace bmptest
