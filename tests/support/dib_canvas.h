// A 32-bit top-down DIB section selected into a memory DC, for painting tests:
// paint into Dc(), then read exact colours back with Pixel().
#pragma once
#include <windows.h>

namespace testsupport {

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
