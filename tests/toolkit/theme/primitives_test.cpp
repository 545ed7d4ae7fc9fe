// Drawing primitives, pixel by pixel in 32-bit DIBs: gradients on the system road and
// on the band road (taken when msimg32 lacks GradientFill, and on palette displays),
// two-part gradients, the colour-keyed blit, pattern bitmaps, check mark, radio dot,
// edge rectangles, tab-area fills and dotted lines.
#include <gtest/gtest.h>
#include "theme_test_support.h"
#include "support/dib_canvas.h"

using testsupport::DibCanvas;

namespace {

const COLORREF RED = RGB(255, 0, 0), BLUE = RGB(0, 0, 255), WHITE = RGB(255, 255, 255),
               GREEN = RGB(0, 255, 0), MAGENTA = RGB(255, 0, 255);

// Takes the msimg32 gradient entry away while it lives, as on a system without it.
class NoSystemGradient
{
public:
    NoSystemGradient() : m_pfn(g_CurrentPaintManager.m_pfnMsImgGradientFill)
    {
        g_CurrentPaintManager.m_pfnMsImgGradientFill = NULL;
    }
    ~NoSystemGradient() { g_CurrentPaintManager.m_pfnMsImgGradientFill = m_pfn; }

private:
    CExtPaintManagerHolder::PFN_GradientFill m_pfn;
};

COLORREF Band(COLORREF c1, COLORREF c2, int i, int n)
{
    return RGB((GetRValue(c2) * i + GetRValue(c1) * (n - i)) / n,
               (GetGValue(c2) * i + GetGValue(c1) * (n - i)) / n,
               (GetBValue(c2) * i + GetBValue(c1) * (n - i)) / n);
}

// An 8-bit DIB section in a memory DC: a palette display for the band rules.
class PaletteCanvas
{
public:
    PaletteCanvas(int cx, int cy) : m_cx(cx)
    {
        struct
        {
            BITMAPINFOHEADER bih;
            RGBQUAD colors[256];
        } bi;
        ::memset(&bi, 0, sizeof(bi));
        bi.bih.biSize = sizeof(BITMAPINFOHEADER);
        bi.bih.biWidth = cx;
        bi.bih.biHeight = -cy;
        bi.bih.biPlanes = 1;
        bi.bih.biBitCount = 8;
        bi.bih.biCompression = BI_RGB;
        for (int i = 0; i < 256; i++)
        {
            bi.colors[i].rgbRed = (BYTE)(i & 0xE0);
            bi.colors[i].rgbGreen = (BYTE)((i << 3) & 0xE0);
            bi.colors[i].rgbBlue = (BYTE)((i << 6) & 0xC0);
        }
        m_dc = ::CreateCompatibleDC(NULL);
        m_bmp = ::CreateDIBSection(m_dc, reinterpret_cast<BITMAPINFO*>(&bi), DIB_RGB_COLORS,
                                   reinterpret_cast<void**>(&m_bits), NULL, 0);
        m_old = ::SelectObject(m_dc, m_bmp);
        m_stride = (cx + 3) & ~3;
        ::memset(m_bits, 0, (size_t)m_stride * cy);
    }
    ~PaletteCanvas()
    {
        ::SelectObject(m_dc, m_old);
        ::DeleteObject(m_bmp);
        ::DeleteDC(m_dc);
    }
    BYTE Index(int x, int y) const { return m_bits[y * m_stride + x]; }
    HDC m_dc;
    int m_cx, m_stride;
    HBITMAP m_bmp;
    HGDIOBJ m_old;
    BYTE* m_bits = nullptr;
};

}  // namespace

TEST(Primitives, SystemGradientRunsFromColourOneToColourTwo)
{
    ASSERT_NE(nullptr, reinterpret_cast<void*>(g_CurrentPaintManager.m_pfnMsImgGradientFill));
    DibCanvas canvas(10, 10);
    CDC* pDC = CDC::FromHandle(canvas.Dc());
    RECT rc = {0, 0, 10, 10};
    CExtPaintManager::GradientFillRect(*pDC, rc, RED, BLUE, true, 256);
    EXPECT_GT(GetBValue(canvas.Pixel(5, 0)), 200);   // colour 2 at the top
    EXPECT_GT(GetRValue(canvas.Pixel(5, 9)), 200);   // colour 1 at the bottom
    CExtPaintManager::GradientFillRect(*pDC, rc, RED, BLUE, false, 256);
    EXPECT_GT(GetRValue(canvas.Pixel(0, 5)), 200);   // colour 1 at the left
    EXPECT_GT(GetBValue(canvas.Pixel(9, 5)), 200);
}

TEST(Primitives, BandGradientWithoutTheSystemEntry)
{
    NoSystemGradient none;
    DibCanvas canvas(10, 10);
    CDC* pDC = CDC::FromHandle(canvas.Dc());
    RECT rc = {0, 0, 10, 10};
    CExtPaintManager::GradientFillRect(*pDC, rc, RED, BLUE, true, 256);
    for (int y = 0; y < 10; y++)
        EXPECT_EQ(Band(RED, BLUE, 9 - y, 10), canvas.Pixel(3, y)) << "row " << y;
    EXPECT_EQ(RED, canvas.Pixel(0, 9));
    CExtPaintManager::GradientFillRect(*pDC, rc, RED, BLUE, false, 256);
    for (int x = 0; x < 10; x++)
        EXPECT_EQ(Band(RED, BLUE, x, 10), canvas.Pixel(x, 4)) << "column " << x;
    // Fewer steps than pixels: five bands, the first one pixel wide, the last to the edge.
    canvas.Fill(WHITE);
    CExtPaintManager::GradientFillRect(*pDC, rc, RED, BLUE, false, 5);
    EXPECT_EQ(Band(RED, BLUE, 0, 5), canvas.Pixel(0, 0));
    EXPECT_EQ(Band(RED, BLUE, 1, 5), canvas.Pixel(1, 0));
    EXPECT_EQ(Band(RED, BLUE, 1, 5), canvas.Pixel(2, 0));
    EXPECT_EQ(Band(RED, BLUE, 4, 5), canvas.Pixel(9, 0));
    // An inverted rectangle paints nothing.
    canvas.Fill(WHITE);
    RECT rcInv = {8, 8, 2, 2};
    CExtPaintManager::GradientFillRect(*pDC, rcInv, RED, BLUE, true, 256);
    RECT all = {0, 0, 10, 10};
    EXPECT_EQ(100, canvas.Count(WHITE, all));
}

TEST(Primitives, BandsOnAPaletteDisplayAreAtLeastFourPixels)
{
    NoSystemGradient none;
    PaletteCanvas canvas(8, 40);
    ASSERT_EQ(8, CExtPaintManager::GetDcBitsPerPixel(canvas.m_dc));
    CDC* pDC = CDC::FromHandle(canvas.m_dc);
    ::memset(canvas.m_bits, 0xFF, (size_t)canvas.m_stride * 40);
    RECT rcThin = {0, 0, 8, 3};
    CExtPaintManager::GradientFillRect(*pDC, rcThin, RGB(0, 0, 0), RGB(0, 0, 0), true, 256);
    for (int y = 0; y < 3; y++)
        EXPECT_EQ(0xFF, canvas.Index(0, y)) << "a 3-pixel gradient paints nothing, row " << y;
    RECT rc = {0, 0, 8, 40};
    CExtPaintManager::GradientFillRect(*pDC, rc, RGB(0, 0, 0), WHITE, true, 256);
    // 40 rows allow ten bands, not forty: at most ten runs of one colour.
    int nRuns = 1;
    for (int y = 1; y < 40; y++)
        if (canvas.Index(0, y) != canvas.Index(0, y - 1))
            nRuns++;
    EXPECT_LE(nRuns, 10);
    EXPECT_GE(nRuns, 5);
    EXPECT_EQ(0, canvas.Index(0, 39));  // band 0 is colour 1, black
}

TEST(Primitives, TwoPartGradientMeetsAtTheSplit)
{
    NoSystemGradient none;
    DibCanvas canvas(10, 10);
    CDC* pDC = CDC::FromHandle(canvas.Dc());
    RECT rc = {0, 0, 10, 10};
    CExtPaintManager::GradientFillTwoPart(*pDC, rc, RED, GREEN, BLUE, true, 2, 5, 256);
    // First part: rows 0-3, colour 2 at its bottom; second part rows 4-9, colour 3 at the bottom.
    EXPECT_EQ(GREEN, canvas.Pixel(0, 3));
    EXPECT_EQ(Band(GREEN, RED, 3, 4), canvas.Pixel(0, 0));
    EXPECT_EQ(BLUE, canvas.Pixel(0, 9));
    EXPECT_EQ(Band(BLUE, GREEN, 5, 6), canvas.Pixel(0, 4));
    CExtPaintManager::GradientFillTwoPart(*pDC, rc, RED, GREEN, BLUE, false, 2, 5, 256);
    EXPECT_EQ(RED, canvas.Pixel(0, 0));
    EXPECT_EQ(GREEN, canvas.Pixel(4, 0));
    EXPECT_EQ(Band(GREEN, BLUE, 5, 6), canvas.Pixel(9, 0));
}

TEST(Primitives, TransparentBltKeepsTheDestinationUnderKeyPixels)
{
    DibCanvas src(4, 4, MAGENTA);
    ::SetPixel(src.Dc(), 1, 1, RED);
    ::SetPixel(src.Dc(), 2, 3, BLUE);
    DibCanvas dst(10, 10, GREEN);
    CExtPaintManager::TransparentBltByColor(dst.Dc(), 2, 2, -1, -1, src.Dc(), 0, 0, 4, 4,
                                            MAGENTA);
    EXPECT_EQ(RED, dst.Pixel(3, 3));
    EXPECT_EQ(BLUE, dst.Pixel(4, 5));
    RECT all = {0, 0, 10, 10};
    EXPECT_EQ(98, dst.Count(GREEN, all));
    EXPECT_EQ(GREEN, dst.Pixel(2, 2));
    // Stretched to twice the size.
    dst.Fill(GREEN);
    CExtPaintManager::TransparentBltByColor(dst.Dc(), 0, 0, 8, 8, src.Dc(), 0, 0, 4, 4, MAGENTA);
    EXPECT_EQ(RED, dst.Pixel(2, 2));
    EXPECT_EQ(RED, dst.Pixel(3, 3));
    EXPECT_EQ(BLUE, dst.Pixel(4, 6));
    EXPECT_EQ(BLUE, dst.Pixel(5, 7));
    EXPECT_EQ(92, dst.Count(GREEN, all));
}

TEST(Primitives, PatternBitmapFollowsTheMasks)
{
    const COLORREF c1 = RGB(10, 20, 30), c2 = RGB(200, 210, 220), c3 = RGB(90, 0, 90);
    struct Case
    {
        int mx1, my1, mx2, my2;
    } cases[] = {{1, 1, 0, 0}, {1, 1, 1, 1}, {1, 1, 2, 2}, {2, 0, 0, 4}};
    for (const Case& c : cases)
    {
        HBITMAP hBmp = CExtPaintManager::CreatePatternBitmap(c1, c2, c.mx1, c.my1, c.mx2, c.my2, c3);
        ASSERT_NE((HBITMAP)NULL, hBmp);
        DibCanvas canvas(16, 16);
        HDC hMem = ::CreateCompatibleDC(canvas.Dc());
        HGDIOBJ hOld = ::SelectObject(hMem, hBmp);
        ::BitBlt(canvas.Dc(), 0, 0, 16, 16, hMem, 0, 0, SRCCOPY);
        ::SelectObject(hMem, hOld);
        ::DeleteDC(hMem);
        ::DeleteObject(hBmp);
        for (int y = 0; y < 16; y++)
            for (int x = 0; x < 16; x++)
            {
                COLORREF expected;
                if ((x & c.mx2) || (y & c.my2))
                    expected = c3;
                else if (y & c.my1)
                    expected = (x & c.mx1) ? c1 : c2;
                else
                    expected = (x & c.mx1) ? c2 : c1;
                ASSERT_EQ(expected, canvas.Pixel(x, y))
                    << "masks " << c.mx1 << c.my1 << c.mx2 << c.my2 << " at " << x << "," << y;
            }
    }
    // Defaults: face and highlight, colour 3 = colour 1.
    HBITMAP hBmp = CExtPaintManager::CreatePatternBitmap();
    DibCanvas canvas(16, 16);
    HDC hMem = ::CreateCompatibleDC(canvas.Dc());
    HGDIOBJ hOld = ::SelectObject(hMem, hBmp);
    ::BitBlt(canvas.Dc(), 0, 0, 16, 16, hMem, 0, 0, SRCCOPY);
    ::SelectObject(hMem, hOld);
    ::DeleteDC(hMem);
    ::DeleteObject(hBmp);
    EXPECT_EQ(::GetSysColor(COLOR_BTNFACE), canvas.Pixel(0, 0));
    EXPECT_EQ(::GetSysColor(COLOR_BTNHIGHLIGHT), canvas.Pixel(1, 0));
}

TEST(Primitives, CheckMarkIsTwentyOnePixelsWithItsShadow)
{
    DibCanvas canvas(12, 12, WHITE);
    CDC* pDC = CDC::FromHandle(canvas.Dc());
    CExtPaintManager::DrawCheckMark(*pDC, 0, 0, RED);
    const COLORREF SHADOW = RGB(0, 255, 255);  // the inverted colour
    const int top[7] = {2, 3, 4, 3, 2, 1, 0};
    for (int dx = 0; dx < 7; dx++)
    {
        EXPECT_EQ(RED, canvas.Pixel(dx, top[dx])) << "column " << dx;
        EXPECT_EQ(RED, canvas.Pixel(dx, top[dx] + 1)) << "column " << dx;
        EXPECT_EQ(SHADOW, canvas.Pixel(dx, top[dx] + 2)) << "column " << dx;
    }
    RECT all = {0, 0, 12, 12};
    EXPECT_EQ(144 - 21, canvas.Count(WHITE, all));
    RECT col7 = {7, 0, 8, 12};
    EXPECT_EQ(12, canvas.Count(WHITE, col7));
}

TEST(Primitives, RadioDotHasItsShadowBelowRight)
{
    DibCanvas canvas(12, 12, WHITE);
    CDC* pDC = CDC::FromHandle(canvas.Dc());
    CExtPaintManager::DrawRadioDot(*pDC, 2, 2, RED);
    const COLORREF SHADOW = RGB(0, 255, 255);
    EXPECT_EQ(RED, canvas.Pixel(5, 5));
    EXPECT_EQ(RED, canvas.Pixel(4, 4));
    EXPECT_EQ(SHADOW, canvas.Pixel(8, 5));
    EXPECT_EQ(SHADOW, canvas.Pixel(5, 8));
    EXPECT_EQ(WHITE, canvas.Pixel(1, 5));
    EXPECT_EQ(WHITE, canvas.Pixel(9, 5));
    RECT all = {0, 0, 12, 12};
    EXPECT_GT(canvas.Count(RED, all), 20);
    EXPECT_GT(canvas.Count(SHADOW, all), 5);
}

TEST(Primitives, EdgeRectLeavesTheCornersUntouched)
{
    DibCanvas canvas(8, 8, WHITE);
    CDC* pDC = CDC::FromHandle(canvas.Dc());
    CExtPaintManager::DrawEdgeRect(*pDC, 1, 1, 6, 5, RED, BLUE);
    for (int x = 2; x <= 5; x++)
    {
        EXPECT_EQ(RED, canvas.Pixel(x, 1)) << x;
        EXPECT_EQ(BLUE, canvas.Pixel(x, 5)) << x;
    }
    for (int y = 2; y <= 4; y++)
    {
        EXPECT_EQ(RED, canvas.Pixel(1, y)) << y;
        EXPECT_EQ(BLUE, canvas.Pixel(6, y)) << y;
    }
    EXPECT_EQ(WHITE, canvas.Pixel(1, 1));
    EXPECT_EQ(WHITE, canvas.Pixel(6, 1));
    EXPECT_EQ(WHITE, canvas.Pixel(1, 5));
    EXPECT_EQ(WHITE, canvas.Pixel(6, 5));
    EXPECT_EQ(WHITE, canvas.Pixel(3, 3));
}

TEST(Primitives, TabAreaAndEdgeOnEachSide)
{
    const RECT rcArea = {0, 0, 10, 10}, rcItem = {2, 2, 8, 6};
    for (int nSide = 0; nSide < 4; nSide++)
    {
        DibCanvas canvas(10, 10, WHITE);
        CDC* pDC = CDC::FromHandle(canvas.Dc());
        CExtPaintManager::FillTabAreaAndEdge(NULL, *pDC, rcArea, rcItem, nSide, false, GREEN, RED,
                                             BLUE);
        const POINT edge[4] = {{4, 2}, {4, 5}, {2, 4}, {7, 4}};
        EXPECT_EQ(BLUE, canvas.Pixel(edge[nSide].x, edge[nSide].y)) << "side " << nSide;
        EXPECT_EQ(RED, canvas.Pixel(4, 3 + (nSide == 0))) << "side " << nSide;
        EXPECT_EQ(GREEN, canvas.Pixel(0, 0)) << "side " << nSide;
        RECT all = {0, 0, 10, 10};
        EXPECT_EQ(nSide < 2 ? 6 : 4, canvas.Count(BLUE, all)) << "side " << nSide;
    }
    DibCanvas canvas(10, 10, WHITE);
    CExtPaintManager::FillTabAreaAndEdge(NULL, *CDC::FromHandle(canvas.Dc()), rcArea, rcItem, 0,
                                         true, GREEN, RED, BLUE);
    RECT all = {0, 0, 10, 10};
    EXPECT_EQ(100, canvas.Count(GREEN, all));
}

TEST(Primitives, DottedLinesLightEvenCoordinates)
{
    DibCanvas canvas(12, 12, WHITE);
    CDC* pDC = CDC::FromHandle(canvas.Dc());
    CExtPaintManager::DrawDottedLineHorz(*pDC, 3, 9, 1, RED);
    RECT row = {0, 1, 12, 2};
    EXPECT_EQ(3, canvas.Count(RED, row));
    EXPECT_EQ(RED, canvas.Pixel(4, 1));
    EXPECT_EQ(RED, canvas.Pixel(6, 1));
    EXPECT_EQ(RED, canvas.Pixel(8, 1));
    CExtPaintManager::DrawDottedLineVert(*pDC, 5, 2, 7, BLUE);
    RECT col = {5, 0, 6, 12};
    EXPECT_EQ(3, canvas.Count(BLUE, col));
    EXPECT_EQ(BLUE, canvas.Pixel(5, 2));
    EXPECT_EQ(BLUE, canvas.Pixel(5, 6));
}
