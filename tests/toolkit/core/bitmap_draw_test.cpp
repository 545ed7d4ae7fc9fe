// Drawing, alpha blending (the platform's and the computed one), nine-part skins and
// regions, checked pixel by pixel on a DIB canvas.
#include <gtest/gtest.h>

#include <algorithm>

#include "bmp_builder.h"
#include "support/dib_canvas.h"
#include "toolkit/core/bitmap_platform.h"

using namespace bmptest;
using testsupport::DibCanvas;

namespace {

// A 3x3 image whose pixel (x, y) is RGB(x * 100, y * 100, 50).
bool Grid3(CExtBitmap& bmp)
{
    return Make24(bmp, 3, 3, [](int x, int y) { return RGB(x * 100, y * 100, 50); });
}

struct PlatformBlendOff
{
    PlatformBlendOff() { CExtBitmapPlatform::DisableAlphaBlend(true); }
    ~PlatformBlendOff() { CExtBitmapPlatform::DisableAlphaBlend(false); }
};

int Near(COLORREF a, COLORREF b)
{
    int d = abs((int)GetRValue(a) - (int)GetRValue(b));
    d = std::max(d, abs((int)GetGValue(a) - (int)GetGValue(b)));
    return std::max(d, abs((int)GetBValue(a) - (int)GetBValue(b)));
}

}  // namespace

TEST(BitmapDraw, TopDownSourceCoordinates) {
    CExtBitmap bmp;
    ASSERT_TRUE(Grid3(bmp));
    DibCanvas canvas(20, 20, RGB(255, 255, 255));
    EXPECT_NE(-1, bmp.Draw(canvas.Dc(), 10, 10, 2, 2, 1, 1, 2, 2));
    EXPECT_EQ(RGB(100, 100, 50), canvas.Pixel(10, 10));
    EXPECT_EQ(RGB(200, 100, 50), canvas.Pixel(11, 10));
    EXPECT_EQ(RGB(200, 200, 50), canvas.Pixel(11, 11));
    EXPECT_EQ(RGB(255, 255, 255), canvas.Pixel(12, 12));
    EXPECT_EQ(RGB(255, 255, 255), canvas.Pixel(9, 9));

    // the whole image, doubled
    SetStretchBltMode(canvas.Dc(), COLORONCOLOR);
    EXPECT_NE(-1, bmp.DrawWhole(canvas.Dc(), 0, 0, 6, 6));
    for (int y = 0; y < 6; y++)
        for (int x = 0; x < 6; x++)
            EXPECT_EQ(RGB((x / 2) * 100, (y / 2) * 100, 50), canvas.Pixel(x, y)) << x << "," << y;

    RECT rcDst = {15, 0, 16, 1}, rcSrc = {2, 0, 3, 1};
    EXPECT_NE(-1, bmp.Draw(canvas.Dc(), rcDst, rcSrc));
    EXPECT_EQ(RGB(200, 0, 50), canvas.Pixel(15, 0));

    // the bottom two rows stretched to 3 x 4 on a DC whose window origin is moved: the
    // drawing lands in logical coordinates and the origin is left as it was
    canvas.Fill(RGB(255, 255, 255));
    POINT org = {0, 0};
    SetWindowOrgEx(canvas.Dc(), 5, 3, NULL);
    EXPECT_NE(-1, bmp.Draw(canvas.Dc(), 7, 4, 3, 4, 0, 1, 3, 2));
    GetWindowOrgEx(canvas.Dc(), &org);
    EXPECT_EQ(5, org.x);
    EXPECT_EQ(3, org.y);
    SetWindowOrgEx(canvas.Dc(), 0, 0, NULL);
    for (int y = 0; y < 4; y++)
        for (int x = 0; x < 3; x++)
            EXPECT_EQ(RGB(x * 100, (1 + y / 2) * 100, 50), canvas.Pixel(2 + x, 1 + y)) << "moved origin " << x << "," << y;
    EXPECT_EQ(RGB(255, 255, 255), canvas.Pixel(2, 0));
    EXPECT_EQ(RGB(255, 255, 255), canvas.Pixel(5, 1));
    EXPECT_EQ(RGB(255, 255, 255), canvas.Pixel(2, 5));

    CExtBitmap empty;
    EXPECT_EQ(-1, empty.Draw(canvas.Dc(), 0, 0, 1, 1, 0, 0, 1, 1));
    EXPECT_EQ(-1, bmp.DrawNative(NULL, 0, 0, 1, 1, 0, 0, 1, 1));
    EXPECT_EQ(-1, empty.AlphaBlendWholeAt(canvas.Dc(), 0, 0, 1, 1));
}

TEST(BitmapDraw, AlphaBlendBothWays) {
    CExtBitmap bmp;
    ASSERT_TRUE(Make32(bmp, 4, 1, [](int x, int) {
        static const DWORD px[4] = {0xFF0000FF, 0x00FF0000, 0x80FF0000, 0x40204060};
        return px[x];
    }));
    for (int way = 0; way < 2; way++) {
        SCOPED_TRACE(way ? "computed" : "platform");
        PlatformBlendOff* off = way ? new PlatformBlendOff : nullptr;
        DibCanvas canvas(8, 4, RGB(0, 0, 0));
        canvas.Fill(RGB(0, 0, 200));
        EXPECT_EQ(0, bmp.AlphaBlendWholeAt(canvas.Dc(), 2, 1, 4, 1));
        EXPECT_EQ(RGB(0, 0, 200), canvas.Pixel(1, 1));
        EXPECT_EQ(RGB(0, 0, 255), canvas.Pixel(2, 1));   // opaque
        EXPECT_EQ(RGB(0, 0, 200), canvas.Pixel(3, 1));   // transparent
        EXPECT_LE(Near(RGB(128, 0, 100), canvas.Pixel(4, 1)), 1);  // half red over blue
        // 25 % of (0x20, 0x40, 0x60) over blue 200
        EXPECT_LE(Near(RGB(8, 16, 24 + 150), canvas.Pixel(5, 1)), 1);
        EXPECT_EQ(RGB(0, 0, 200), canvas.Pixel(6, 1));

        // a constant alpha on top of the pixels' own
        canvas.Fill(RGB(0, 0, 0));
        RECT rcDst = {0, 0, 1, 1}, rcSrc = {0, 0, 1, 1};
        EXPECT_EQ(0, bmp.AlphaBlend(canvas.Dc(), rcDst, rcSrc, 128));
        EXPECT_LE(Near(RGB(0, 0, 128), canvas.Pixel(0, 0)), 1);
        // over a light background the constant alpha lets the background through as
        // well: half an opaque blue over white is light blue, not a darkened blue
        canvas.Fill(RGB(255, 255, 255));
        EXPECT_EQ(0, bmp.AlphaBlend(canvas.Dc(), rcDst, rcSrc, 128));
        EXPECT_LE(Near(RGB(127, 127, 255), canvas.Pixel(0, 0)), 1);
        RECT rcOther = {1, 1, 2, 2};
        EXPECT_EQ(0, bmp.AlphaBlend(canvas.Dc(), rcOther, rcSrc, 0));
        EXPECT_EQ(RGB(255, 255, 255), canvas.Pixel(1, 1));  // constant alpha 0: nothing shows
        delete off;
    }
    // images without alpha are drawn opaquely
    CExtBitmap rgb;
    ASSERT_TRUE(Make24(rgb, 1, 1, [](int, int) { return RGB(9, 8, 7); }));
    DibCanvas canvas(2, 2, RGB(255, 255, 255));
    RECT rc = {0, 0, 1, 1};
    EXPECT_NE(-1, rgb.AlphaBlendWhole(canvas.Dc(), rc, 10));
    EXPECT_EQ(RGB(9, 8, 7), canvas.Pixel(0, 0));
}

// The first pixel of the bits shows top left in a top-down section, bottom left in a
// bottom-up one; a side not above 0 makes no section and no bits.
TEST(BitmapDraw, CreateDib32Rows) {
    const struct { int cx, cy; bool bBottomUp; int yFirst; } cases[] = {
        {3, 2, false, 0}, {3, 2, true, 1}, {0, 2, false, -1}, {3, 0, true, -1}, {-3, 2, true, -1}, {3, -2, false, -1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.cx << "x" << c.cy << (c.bBottomUp ? " bottom-up" : " top-down"));
        void* pBits = &pBits;
        HBITMAP hBmp = CreateDib32(NULL, c.cx, c.cy, &pBits, c.bBottomUp);
        EXPECT_EQ(c.yFirst < 0, hBmp == NULL);
        EXPECT_EQ(hBmp == NULL, pBits == NULL);
        if (hBmp == NULL || pBits == NULL) continue;
        std::fill_n(static_cast<DWORD*>(pBits), c.cx * c.cy, 0x00FFFFFFu);
        *static_cast<DWORD*>(pBits) = 0x00102030u;
        HDC hMem = ::CreateCompatibleDC(NULL);
        HGDIOBJ hOld = ::SelectObject(hMem, hBmp);
        EXPECT_EQ(RGB(0x10, 0x20, 0x30), ::GetPixel(hMem, 0, c.yFirst));
        EXPECT_EQ(RGB(255, 255, 255), ::GetPixel(hMem, 0, c.cy - 1 - c.yFirst));
        ::SelectObject(hMem, hOld);
        ::DeleteDC(hMem);
        ::DeleteObject(hBmp);
    }
}

TEST(BitmapDraw, NinePartSkins) {
    // 4x4 frame: corners (c), top edge t0 t1, bottom b0 b1, left l0 l1, right r0 r1,
    // middle m00 m10 m01 m11; each pixel a distinct colour
    auto colour = [](int x, int y) { return RGB(10 + x * 60, 10 + y * 60, 5 * (x + 4 * y)); };
    CExtBitmap bmp;
    ASSERT_TRUE(Make24(bmp, 4, 4, colour));
    const RECT rcPad = {1, 1, 1, 1};
    const RECT rcDst = {1, 1, 10, 8};  // 9 x 7
    const COLORREF bg = RGB(1, 2, 3);

    struct Case { int method; bool middle; } cases[] = {{2, true}, {3, true}, {4, true}, {5, true}, {5, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "method " << c.method << (c.middle ? "" : " without middle"));
        DibCanvas canvas(12, 10, bg);
        ASSERT_TRUE(bmp.DrawSkinPartsWhole(canvas.Dc(), rcDst, rcPad, c.method, c.middle, false));
        // corners at their size
        EXPECT_EQ(colour(0, 0), canvas.Pixel(1, 1));
        EXPECT_EQ(colour(3, 0), canvas.Pixel(9, 1));
        EXPECT_EQ(colour(0, 3), canvas.Pixel(1, 7));
        EXPECT_EQ(colour(3, 3), canvas.Pixel(9, 7));
        // nothing outside
        EXPECT_EQ(bg, canvas.Pixel(0, 0));
        EXPECT_EQ(bg, canvas.Pixel(10, 8));
        EXPECT_EQ(bg, canvas.Pixel(10, 4));
        bool tileTB = c.method == 3 || c.method == 5;
        bool tileLR = c.method == 4 || c.method == 5;
        // Where a part is stretched only its ends are certain (the platform picks the
        // source pixel of the ones between); tiled parts repeat their source exactly.
        // Top and bottom edges: 7 pixels from 2.
        for (int i = 0; i < 7; i++) {
            if (!tileTB && i != 0 && i != 6)
                continue;
            int sx = tileTB ? 1 + (i % 2) : (i == 0 ? 1 : 2);
            EXPECT_EQ(colour(sx, 0), canvas.Pixel(2 + i, 1)) << "top " << i;
            EXPECT_EQ(colour(sx, 3), canvas.Pixel(2 + i, 7)) << "bottom " << i;
        }
        // left and right edges: 5 pixels from 2
        for (int j = 0; j < 5; j++) {
            if (!tileLR && j != 0 && j != 4)
                continue;
            int sy = tileLR ? 1 + (j % 2) : (j == 0 ? 1 : 2);
            EXPECT_EQ(colour(0, sy), canvas.Pixel(1, 2 + j)) << "left " << j;
            EXPECT_EQ(colour(3, sy), canvas.Pixel(9, 2 + j)) << "right " << j;
        }
        // the middle: tiled across for 3, down for 4, both for 5
        bool midH = c.method == 3 || c.method == 5, midV = c.method == 4 || c.method == 5;
        for (int j = 0; j < 5; j++)
            for (int i = 0; i < 7; i++) {
                COLORREF got = canvas.Pixel(2 + i, 2 + j);
                if (!c.middle) {
                    EXPECT_EQ(bg, got) << i << "," << j;
                    continue;
                }
                if ((!midH && i != 0 && i != 6) || (!midV && j != 0 && j != 4))
                    continue;
                int sx = midH ? 1 + (i % 2) : (i == 0 ? 1 : 2);
                int sy = midV ? 1 + (j % 2) : (j == 0 ? 1 : 2);
                EXPECT_EQ(colour(sx, sy), got) << i << "," << j;
            }
    }

    // method 0 draws nothing and succeeds, even without an image; method 1 is one stretch
    CExtBitmap empty;
    DibCanvas canvas(12, 10, bg);
    EXPECT_TRUE(empty.DrawSkinPartsWhole(canvas.Dc(), rcDst, rcPad, 0));
    EXPECT_TRUE(empty.AlphaBlendSkinPartsWhole(canvas.Dc(), rcDst, rcPad, 0));
    EXPECT_FALSE(empty.DrawSkinPartsWhole(canvas.Dc(), rcDst, rcPad, 2));
    EXPECT_EQ(bg, canvas.Pixel(5, 5));
    SetStretchBltMode(canvas.Dc(), COLORONCOLOR);
    EXPECT_TRUE(bmp.AlphaBlendSkinPartsWhole(canvas.Dc(), {0, 0, 8, 8}, rcPad, 1));
    EXPECT_EQ(colour(1, 2), canvas.Pixel(2, 5));
    // the DC's stretch mode comes back
    SetStretchBltMode(canvas.Dc(), BLACKONWHITE);
    EXPECT_TRUE(bmp.DrawSkinPartsWhole(canvas.Dc(), rcDst, rcPad, 2, true, true));
    EXPECT_EQ(BLACKONWHITE, GetStretchBltMode(canvas.Dc()));
}

TEST(BitmapDraw, SkinWithTallerTopRow) {
    auto colour = [](int x, int y) { return RGB(10 + x * 60, 10 + y * 40, 7 * (x + 4 * y)); };
    CExtBitmap bmp;
    ASSERT_TRUE(Make24(bmp, 4, 5, colour));  // top padding 1 plus 1 extra source row
    DibCanvas canvas(10, 10, RGB(0, 0, 0));
    SetStretchBltMode(canvas.Dc(), COLORONCOLOR);
    const RECT rcSrc = {0, 0, 4, 5}, rcPad = {1, 1, 1, 1}, rcDst = {0, 0, 6, 8};
    ASSERT_TRUE(bmp.DrawSkinPartsEx(canvas.Dc(), rcDst, rcSrc, rcPad, 2, 1, true, false));
    EXPECT_EQ(colour(0, 0), canvas.Pixel(0, 0));
    // the band below the top-left corner: source row 1 stretched over 2 pixels
    EXPECT_EQ(colour(0, 1), canvas.Pixel(0, 1));
    EXPECT_EQ(colour(0, 1), canvas.Pixel(0, 2));
    // the top edge includes the extra rows
    EXPECT_EQ(colour(1, 0), canvas.Pixel(1, 0));
    EXPECT_EQ(colour(1, 1), canvas.Pixel(1, 2));
    // the left edge starts below them
    EXPECT_EQ(colour(0, 2), canvas.Pixel(0, 3));
    EXPECT_EQ(colour(0, 4), canvas.Pixel(0, 7));
    EXPECT_EQ(colour(3, 4), canvas.Pixel(5, 7));
}

TEST(BitmapDraw, Regions) {
    const COLORREF key = RGB(255, 0, 255);
    // a plus sign on the key colour
    CExtBitmap bmp;
    ASSERT_TRUE(Make32(bmp, 5, 4, [](int x, int y) { return (x == 2 || y == 1) ? 0xFF000000u : 0xFFFF00FFu; }));
    HRGN hRgn = bmp.GenerateRgn(key);
    ASSERT_TRUE(hRgn != NULL);
    for (int y = 0; y < 4; y++)
        for (int x = 0; x < 5; x++)
            EXPECT_EQ(x == 2 || y == 1, PtInRegion(hRgn, x, y) != 0) << x << "," << y;
    RECT box;
    EXPECT_EQ(COMPLEXREGION, GetRgnBox(hRgn, &box));
    EXPECT_EQ(0, box.left);
    EXPECT_EQ(5, box.right);
    EXPECT_EQ(4, box.bottom);
    DeleteObject(hRgn);

    // the tolerance widens the key per channel
    ASSERT_TRUE(Make32(bmp, 3, 1, [](int x, int) {
        static const DWORD px[3] = {0xFFF800F0, 0xFFFF00FF, 0xFF000000};
        return px[x];
    }));
    hRgn = bmp.GenerateRgn(RGB(0xF0, 0, 0xF0), RGB(0x10, 0, 0x0E));
    EXPECT_EQ(SIMPLEREGION, GetRgnBox(hRgn, &box));
    EXPECT_EQ(1, box.left);  // blue 0xFF lies above 0xF0 + 0x0E: the second pixel stays
    EXPECT_EQ(3, box.right);
    DeleteObject(hRgn);

    // all transparent: an empty region; none transparent: the full rectangle
    ASSERT_TRUE(Make24(bmp, 6, 3, [](int, int) { return RGB(255, 0, 255); }));
    hRgn = bmp.GenerateRgn(key);
    ASSERT_TRUE(hRgn != NULL);
    EXPECT_EQ(NULLREGION, GetRgnBox(hRgn, &box));
    DeleteObject(hRgn);
    ASSERT_TRUE(Make24(bmp, 6, 3, [](int, int) { return RGB(1, 0, 255); }));
    hRgn = bmp.GenerateRgn(key);
    EXPECT_EQ(SIMPLEREGION, GetRgnBox(hRgn, &box));
    EXPECT_EQ(6, box.right);
    EXPECT_EQ(3, box.bottom);
    DeleteObject(hRgn);

    // many rectangles: handed over in batches
    ASSERT_TRUE(Make32(bmp, 200, 60, [](int x, int y) { return ((x + y) % 2) ? 0xFFFF00FFu : 0xFF102030u; }));
    hRgn = bmp.GenerateRgn(key);
    ASSERT_TRUE(hRgn != NULL);
    for (int y = 0; y < 60; y += 7)
        for (int x = 0; x < 200; x += 13)
            EXPECT_EQ((x + y) % 2 == 0, PtInRegion(hRgn, x, y) != 0) << x << "," << y;
    DeleteObject(hRgn);

    CExtBitmap empty;
    EXPECT_TRUE(empty.GenerateRgn(key) == NULL);
}
