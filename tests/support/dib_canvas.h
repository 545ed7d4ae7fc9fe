// A 32-bit top-down DIB section selected into a memory DC, for painting tests:
// paint into Dc(), then read exact colours back with Pixel().
#pragma once
#include <windows.h>

namespace testsupport {

// The header of a 32-bit BI_RGB top-down image (row 0 is the top), for making
// sections and for reading a bitmap's pixels with GetDIBits.
BITMAPINFO TopDown32Info(int width, int height);

// A 32-bit top-down DIB section, selected nowhere, whose pixel (x, y) is f(x, y) as
// 0xAARRGGBB; NULL when the platform refuses. The caller deletes it.
template <class F>
HBITMAP CreateSection32(int width, int height, F f) {
    BITMAPINFO bi = TopDown32Info(width, height);
    void* bits = nullptr;
    HBITMAP h = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (h == nullptr || bits == nullptr) return h;
    DWORD* p = static_cast<DWORD*>(bits);
    for (int y = 0; y < height; y++)
        for (int x = 0; x < width; x++) p[y * width + x] = static_cast<DWORD>(f(x, y));
    return h;
}

class DibCanvas {
public:
    DibCanvas(int width, int height, COLORREF fill = RGB(255, 255, 255));
    ~DibCanvas();
    DibCanvas(const DibCanvas&) = delete;
    DibCanvas& operator=(const DibCanvas&) = delete;

    HDC Dc() const { return m_dc; }
    HBITMAP Bitmap() const { return m_bitmap; }
    int Width() const { return m_width; }
    int Height() const { return m_height; }

    // The colour at (x, y) as a COLORREF (0x00BBGGRR); CLR_INVALID outside.
    COLORREF Pixel(int x, int y) const;
    // The raw 32-bit value (0xAARRGGBB) at (x, y), alpha included.
    DWORD Raw(int x, int y) const;
    DWORD* Bits() const { return m_bits; }
    void Fill(COLORREF colour);
    // Counts the pixels of one colour inside [left, right) x [top, bottom).
    int Count(COLORREF colour, const RECT& area) const;

private:
    int m_width, m_height;
    HDC m_dc = nullptr;
    HBITMAP m_bitmap = nullptr;
    HGDIOBJ m_old = nullptr;
    DWORD* m_bits = nullptr;
};

}  // namespace testsupport
