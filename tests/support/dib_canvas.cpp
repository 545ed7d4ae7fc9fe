#include "support/dib_canvas.h"

namespace testsupport {

BITMAPINFO TopDown32Info(int width, int height) {
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bi.bmiHeader.biWidth = width;
    bi.bmiHeader.biHeight = -height;  // top-down: row 0 is the top
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    return bi;
}

DibCanvas::DibCanvas(int width, int height, COLORREF fill) : m_width(width), m_height(height) {
    BITMAPINFO bi = TopDown32Info(width, height);
    HDC screen = GetDC(nullptr);
    m_dc = CreateCompatibleDC(screen);
    ReleaseDC(nullptr, screen);
    void* bits = nullptr;
    m_bitmap = CreateDIBSection(m_dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    m_bits = static_cast<DWORD*>(bits);
    m_old = SelectObject(m_dc, m_bitmap);
    Fill(fill);
}

DibCanvas::~DibCanvas() {
    if (m_dc) {
        SelectObject(m_dc, m_old);
        DeleteDC(m_dc);
    }
    if (m_bitmap) DeleteObject(m_bitmap);
}

DWORD DibCanvas::Raw(int x, int y) const {
    if (!m_bits || x < 0 || y < 0 || x >= m_width || y >= m_height) return 0;
    GdiFlush();
    return m_bits[y * m_width + x];
}

COLORREF DibCanvas::Pixel(int x, int y) const {
    if (!m_bits || x < 0 || y < 0 || x >= m_width || y >= m_height) return CLR_INVALID;
    DWORD v = Raw(x, y);
    return RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
}

void DibCanvas::Fill(COLORREF colour) {
    if (!m_bits) return;
    GdiFlush();
    DWORD v = (GetRValue(colour) << 16) | (GetGValue(colour) << 8) | GetBValue(colour);
    for (int i = 0; i < m_width * m_height; ++i) m_bits[i] = v;
}

int DibCanvas::Count(COLORREF colour, const RECT& area) const {
    int n = 0;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x)
            if (Pixel(x, y) == colour) ++n;
    return n;
}

}  // namespace testsupport
