// The pixel block: layout, size limits, pixel access, conversion to 32 bits and the
// per-pixel colour and alpha edits.
#include <gtest/gtest.h>

#include "bmp_builder.h"

using namespace bmptest;

TEST(BitmapBlock, LayoutSizes) {
    EXPECT_EQ(12u, CExtBitmap::GetStride(3, 24));
    EXPECT_EQ(48ull + 24ull, CExtBitmap::GetBlockSize(3, 2, 24));  // plus 16 mask bytes = 16 + 48 + 24
    EXPECT_EQ(1072ull, CExtBitmap::GetBlockSize(1, 1, 8) - 4);      // 40 + 1,024 rounded to 16, one row of 4
    EXPECT_EQ(256, CExtBitmap::GetPaletteSize(8));
    EXPECT_EQ(16, CExtBitmap::GetPaletteSize(4));
    EXPECT_EQ(2, CExtBitmap::GetPaletteSize(1));
    EXPECT_EQ(0, CExtBitmap::GetPaletteSize(24));
    EXPECT_EQ(4u, CExtBitmap::GetStride(1, 1));
    EXPECT_EQ(8u, CExtBitmap::GetStride(33, 1));
    EXPECT_EQ(4u, CExtBitmap::GetStride(2, 16));

    LPBITMAPINFOHEADER p = CExtBitmap::AllocBlock(5, 3, 2);  // 2 bits per pixel is not a depth: 8
    ASSERT_TRUE(p != NULL);
    EXPECT_EQ(8, p->biBitCount);
    EXPECT_EQ(256u, p->biClrUsed);
    EXPECT_EQ(40u, p->biSize);
    EXPECT_EQ(0u, ((UINT_PTR)CExtBitmap::GetBitsPtr(p)) % 16);  // rows start on 16 bytes
    EXPECT_EQ(CExtBitmap::GetBitsPtr(p) + 2 * 8, CExtBitmap::GetScanLine(p, 2, 8));
    CExtBitmap::FreeBlock(p);

    p = CExtBitmap::AllocBlock(3, 2, 32, 1, 2, 3, 4);
    ASSERT_TRUE(p != NULL);
    EXPECT_EQ(1u, CExtBitmap::GetMask(p, 0));
    EXPECT_EQ(4u, CExtBitmap::GetMask(p, 3));
    EXPECT_EQ(0u, ((UINT_PTR)p - 16) % 16);
    // zero-filled
    for (int i = 0; i < 24; i++)
        EXPECT_EQ(0, CExtBitmap::GetBitsPtr(p)[i]);
    CExtBitmap::FreeBlock(p);
}

TEST(BitmapBlock, RefusesSizesThatCannotBeRight) {
    struct Case { int cx, cy, bpp; } cases[] = {
        {0, 10, 24}, {10, 0, 24}, {-5, 10, 32}, {10, -5, 32}, {32769, 1, 8}, {1, 32769, 8},
        {32768, 32768, 32},  // 4 GB
        {16384, 5000, 32},   // 312 MB
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.cx << "x" << c.cy << "x" << c.bpp);
        EXPECT_EQ(0ull, CExtBitmap::GetBlockSize(c.cx, c.cy, c.bpp));
        EXPECT_TRUE(CExtBitmap::AllocBlock(c.cx, c.cy, c.bpp) == NULL);
    }
    // the largest side is allowed when the block stays small
    LPBITMAPINFOHEADER p = CExtBitmap::AllocBlock(32768, 1, 8);
    EXPECT_TRUE(p != NULL);
    CExtBitmap::FreeBlock(p);
}

TEST(BitmapBlock, PixelAccessIsTopDown) {
    CExtBitmap bmp;
    EXPECT_TRUE(bmp.IsEmpty());
    EXPECT_EQ(0, bmp.GetBPP());
    EXPECT_EQ(0, bmp.GetSize().cx);
    ASSERT_TRUE(Make32(bmp, 3, 2, [](int x, int y) { return 0x80000000u | (DWORD)(y * 16 + x); }));
    EXPECT_EQ(CSize(3, 2), bmp.GetSize());
    EXPECT_EQ(0x80000000u, Argb(bmp, 0, 0));
    EXPECT_EQ(0x80000012u, Argb(bmp, 2, 1));
    BYTE a = 0;
    EXPECT_EQ(RGB(0, 0, 0x11), bmp.GetPixelColor(1, 1, &a));
    EXPECT_EQ(0x80, a);
    RGBQUAD q;
    EXPECT_FALSE(bmp.GetPixel(3, 0, q));
    EXPECT_FALSE(bmp.GetPixel(0, 2, q));
    EXPECT_FALSE(bmp.GetPixel(-1, 0, q));
    EXPECT_EQ(COLORREF(-1L), bmp.GetPixelColor(0, -1));

    // only the selected channels are written
    EXPECT_TRUE(bmp.SetPixel(1, 0, Quad(0xAA, 0xBB, 0xCC, 0xDD), true, false, true, false));
    EXPECT_EQ(0x80AA00CCu, Argb(bmp, 1, 0));
    EXPECT_FALSE(bmp.SetPixel(5, 5, Quad(1, 1, 1)));
}

TEST(BitmapBlock, SixteenBitPixels) {
    // 5-6-5 by its masks
    BmpLayout s;
    s.width = 2;
    s.height = 1;
    s.bpp = 16;
    SetBitFields565(s);
    Put16(s.bits, 0xFFFF);
    Put16(s.bits, (WORD)((31 << 11) | (32 << 5) | 0));
    std::vector<BYTE> data = Build(s);
    CExtBitmap bmp;
    ASSERT_TRUE(bmp.LoadFromBuffer(data.data(), (DWORD)data.size()));
    EXPECT_EQ(0xFFFFFFFFu, Argb(bmp, 0, 0));
    EXPECT_EQ(0xFFFF8100u, Argb(bmp, 1, 0));  // green 32 * 255 / 63 = 129
    // only red selected: the green and blue fields become 0
    ASSERT_TRUE(bmp.SetPixel(0, 0, Quad(0xFF, 0xFF, 0xFF), true, false, false, false));
    EXPECT_EQ(0xFFFF0000u, Argb(bmp, 0, 0));

    // 5-5-5 without bit fields
    s.compression = BI_RGB;
    data = Build(s);
    ASSERT_TRUE(bmp.LoadFromBuffer(data.data(), (DWORD)data.size()));
    EXPECT_EQ(0xFFFFFFFFu, Argb(bmp, 0, 0));  // the top bit is ignored
    ASSERT_TRUE(bmp.SetPixel(1, 0, Quad(0x10, 0x20, 0x30)));
    EXPECT_EQ(0xFF102031u, Argb(bmp, 1, 0));  // 0x10>>3=2 -> 16; 0x20>>3=4 -> 32; 0x30>>3=6 -> 49
}

TEST(BitmapBlock, Make32FromEveryDepth) {
    std::vector<RGBQUAD> pal = {Quad(10, 20, 30), Quad(200, 100, 50), Quad(1, 2, 3), Quad(9, 8, 7)};
    struct Case { int bpp; std::vector<BYTE> row; } cases[] = {
        {1, {0x40, 0, 0, 0}},      // pixels 0 1 0
        {4, {0x13, 0x20, 0, 0}},   // 1 3 2
        {8, {3, 1, 2, 0}},         // 3 1 2
    };
    for (auto& c : cases) {
        SCOPED_TRACE(c.bpp);
        BmpLayout s;
        s.width = 3;
        s.height = 1;
        s.bpp = c.bpp;
        s.palette = pal;
        s.palette.resize(c.bpp == 1 ? 2 : 4);
        s.clrUsed = (DWORD)s.palette.size();
        s.bits = c.row;
        std::vector<BYTE> data = Build(s);
        CExtBitmap bmp;
        ASSERT_TRUE(bmp.LoadFromBuffer(data.data(), (DWORD)data.size()));
        RGBQUAD q;
        EXPECT_FALSE(bmp.GetPixel(0, 0, q));  // palette images have no pixel access
        ASSERT_TRUE(bmp.Make32());
        EXPECT_EQ(32, bmp.GetBPP());
        if (c.bpp == 1) {
            EXPECT_EQ(0xFF0A141Eu, Argb(bmp, 0, 0));
            EXPECT_EQ(0xFFC86432u, Argb(bmp, 1, 0));
            EXPECT_EQ(0xFF0A141Eu, Argb(bmp, 2, 0));
        } else if (c.bpp == 4) {
            EXPECT_EQ(0xFFC86432u, Argb(bmp, 0, 0));
            EXPECT_EQ(0xFF090807u, Argb(bmp, 1, 0));
            EXPECT_EQ(0xFF010203u, Argb(bmp, 2, 0));
        } else {
            EXPECT_EQ(0xFF090807u, Argb(bmp, 0, 0));
            EXPECT_EQ(0xFFC86432u, Argb(bmp, 1, 0));
            EXPECT_EQ(0xFF010203u, Argb(bmp, 2, 0));
        }
    }
    CExtBitmap bmp24;
    ASSERT_TRUE(Make24(bmp24, 2, 1, [](int x, int) { return x ? RGB(1, 2, 3) : RGB(250, 251, 252); }));
    ASSERT_TRUE(bmp24.Make32());
    EXPECT_EQ(0xFF010203u, Argb(bmp24, 1, 0));
    EXPECT_EQ(0xFFFAFBFCu, Argb(bmp24, 0, 0));

    CExtBitmap empty;
    EXPECT_FALSE(empty.Make32());
}

TEST(BitmapBlock, Make32OnThirtyTwoBitsOnlySetsTheAlphaMask) {
    BmpLayout s;
    s.width = 1;
    s.height = 1;
    s.bpp = 32;
    SetBitFields(s, 0x00FF0000, 0x0000FF00, 0x000000FF);
    Put32(s.bits, 0x00123456);
    std::vector<BYTE> data = Build(s);
    CExtBitmap bmp;
    ASSERT_TRUE(bmp.LoadFromBuffer(data.data(), (DWORD)data.size()));
    ASSERT_TRUE(bmp.Make32());
    EXPECT_EQ(0x00123456u, Argb(bmp, 0, 0));
}

TEST(BitmapBlock, PremultiplyAndBack) {
    CExtBitmap bmp;
    ASSERT_TRUE(Make32(bmp, 4, 1, [](int x, int) {
        static const DWORD px[4] = {0xFF102030, 0x00FFFFFF, 0x80FF8000, 0x40F0F0F0};
        return px[x];
    }));
    bmp.PremultiplyAlpha(true);
    EXPECT_EQ(0xFF102030u, Argb(bmp, 0, 0));
    EXPECT_EQ(0x00000000u, Argb(bmp, 1, 0));
    EXPECT_EQ(0x80804000u, Argb(bmp, 2, 0));  // 255 * 128 / 255, 128 * 128 / 255
    bmp.PremultiplyAlpha(false);
    EXPECT_EQ(0xFF102030u, Argb(bmp, 0, 0));
    EXPECT_EQ(0x00000000u, Argb(bmp, 1, 0));  // alpha 0 comes back black
    EXPECT_EQ(0x80FF7F00u, Argb(bmp, 2, 0));  // 64 * 255 / 128 = 127

    // colour bytes above their alpha cannot come back exactly; they stop at 255
    CExtBitmap straight;
    ASSERT_TRUE(Make32(straight, 1, 1, [](int, int) { return 0x40F08010u; }));
    straight.PremultiplyAlpha(false);
    EXPECT_EQ(0x40FFFF3Fu, Argb(straight, 0, 0));
}

TEST(BitmapBlock, AdjustAlpha) {
    CExtBitmap bmp;
    ASSERT_TRUE(Make32(bmp, 3, 1, [](int x, int) {
        static const DWORD px[3] = {0xFF000000, 0x81000000, 0x00000000};
        return px[x];
    }));
    EXPECT_TRUE(bmp.AdjustAlpha(-0.5));
    EXPECT_EQ(0x7Fu, Argb(bmp, 0, 0) >> 24);  // 127.5
    EXPECT_EQ(0x40u, Argb(bmp, 1, 0) >> 24);  // 64.5
    EXPECT_EQ(0x00u, Argb(bmp, 2, 0) >> 24);  // alpha 0 stays
    EXPECT_TRUE(bmp.AdjustAlpha(0.5));
    EXPECT_EQ(0x9Fu, Argb(bmp, 1, 0) >> 24);  // 64 + 0.5 * 191 = 159.5
    EXPECT_TRUE(bmp.AdjustAlpha(0.0));
    RECT rcNone = {5, 5, 9, 9};
    EXPECT_FALSE(bmp.AdjustAlpha(-1.0, &rcNone));
    RECT rcFirst = {-3, -3, 1, 1};
    EXPECT_TRUE(bmp.AdjustAlpha(-1.0, &rcFirst));
    EXPECT_EQ(0x00u, Argb(bmp, 0, 0) >> 24);
    EXPECT_EQ(0x9Fu, Argb(bmp, 1, 0) >> 24);
}

TEST(BitmapBlock, AdjustHlsSparesTheTransparentRange) {
    CExtBitmap bmp;
    ASSERT_TRUE(Make32(bmp, 3, 1, [](int x, int) {
        static const DWORD px[3] = {0x80FF00FF, 0x80FE00FF, 0x80336699};
        return px[x];
    }));
    // tolerance 0: only the exact colour is spared
    EXPECT_TRUE(bmp.AdjustHLS(RGB(255, 0, 255), 0, 0.0, -1.0, 0.0));
    EXPECT_EQ(0x80FF00FFu, Argb(bmp, 0, 0));
    EXPECT_EQ(0x80000000u, Argb(bmp, 1, 0));  // black, alpha kept
    EXPECT_EQ(0x80000000u, Argb(bmp, 2, 0));
    EXPECT_TRUE(bmp.AdjustHLS(COLORREF(-1L), 0, 0, 0, 0));  // no deltas: no change, true

    CExtBitmap bmp2;
    ASSERT_TRUE(Make32(bmp2, 2, 1, [](int x, int) { return x ? 0xFF102030u : 0xFF0F1F2Fu; }));
    EXPECT_TRUE(bmp2.AdjustHLS(RGB(0x0F, 0x1F, 0x2F), RGB(1, 1, 1), 0.0, 1.0, 0.0));
    EXPECT_EQ(0xFF0F1F2Fu, Argb(bmp2, 0, 0));
    EXPECT_EQ(0xFF102030u, Argb(bmp2, 1, 0));  // inside key + tolerance: spared too

    CExtBitmap pal;
    BmpLayout s;
    s.bpp = 8;
    s.clrUsed = 1;
    s.palette = {Quad(1, 2, 3)};
    s.bits = {0, 0, 0, 0};
    std::vector<BYTE> data = Build(s);
    ASSERT_TRUE(pal.LoadFromBuffer(data.data(), (DWORD)data.size()));
    EXPECT_FALSE(pal.AdjustHLS(COLORREF(-1L), 0, 0, 0.5, 0));
}

TEST(BitmapBlock, MakeMonoAndAlphaForColor) {
    CExtBitmap bmp;
    ASSERT_TRUE(Make32(bmp, 3, 1, [](int x, int) {
        static const DWORD px[3] = {0x40FF0000, 0xFF00FF00, 0x800000FF};
        return px[x];
    }));
    bmp.MakeMono();
    // grey = 0.3 blue + 0.5 green + 0.2 red
    EXPECT_EQ(0x40333333u, Argb(bmp, 0, 0));  // 0.2 * 255 = 51
    EXPECT_EQ(0xFF7F7F7Fu, Argb(bmp, 1, 0));  // 127.5 -> 127
    EXPECT_EQ(0x804C4C4Cu, Argb(bmp, 2, 0));  // 76.5 -> 76

    CExtBitmap tinted;
    ASSERT_TRUE(Make32(tinted, 1, 1, [](int, int) { return 0xFFFFFFFFu; }));
    tinted.MakeMono(RGB(255, 0, 0));
    EXPECT_EQ(0xFFFFFFFFu, Argb(tinted, 0, 0));  // lightness 1 is white whatever the hue
    ASSERT_TRUE(Make32(tinted, 1, 1, [](int, int) { return 0xFF00FF00u; }));
    tinted.MakeMono(RGB(255, 0, 0));
    EXPECT_EQ(CExtBitmap::stat_HLS2RGB(0.0, 127 / 255.0, 1.0), tinted.GetPixelColor(0, 0));

    CExtBitmap keyed;
    ASSERT_TRUE(Make32(keyed, 3, 1, [](int x, int) {
        static const DWORD px[3] = {0xFFFF00FF, 0xFFFE02FF, 0xFF00FF00};
        return px[x];
    }));
    keyed.SetAlphaForColor(RGB(0xFE, 0, 0xF0), RGB(8, 2, 0x20), 7);
    EXPECT_EQ(0x07u, Argb(keyed, 0, 0) >> 24);
    EXPECT_EQ(0x07u, Argb(keyed, 1, 0) >> 24);
    EXPECT_EQ(0xFFu, Argb(keyed, 2, 0) >> 24);

    RECT rc = {0, 0, 3, 1};
    keyed.AssignAlpha(rc, 9, RGB(255, 0, 255), RGB(0, 255, 0));
    EXPECT_EQ(0x00u, Argb(keyed, 0, 0) >> 24);
    EXPECT_EQ(0x09u, Argb(keyed, 1, 0) >> 24);
    EXPECT_EQ(0xFFu, Argb(keyed, 2, 0) >> 24);
    RECT rcOne = {1, 0, 2, 1};
    keyed.AssignAlpha(rcOne, 0x33);
    EXPECT_EQ(0x00u, Argb(keyed, 0, 0) >> 24);
    EXPECT_EQ(0x33u, Argb(keyed, 1, 0) >> 24);
}

TEST(BitmapBlock, CopyAndCollectColors) {
    CExtBitmap a;
    ASSERT_TRUE(Make32(a, 4, 2, [](int x, int y) { return (x + y) % 2 ? 0xFF0000FFu : 0xFFFF0000u; }));
    CExtBitmap b(a);
    EXPECT_EQ(a.GetSize(), b.GetSize());
    EXPECT_EQ(Argb(a, 1, 0), Argb(b, 1, 0));
    EXPECT_TRUE(b.SetPixel(1, 0, Quad(1, 2, 3, 4)));
    EXPECT_NE(Argb(a, 1, 0), Argb(b, 1, 0));  // a deep copy
    b = a;
    EXPECT_EQ(Argb(a, 1, 0), Argb(b, 1, 0));
    CExtBitmap empty;
    b = empty;
    EXPECT_TRUE(b.IsEmpty());

    CMap<COLORREF, COLORREF, ULONG, ULONG> map;
    EXPECT_EQ(32u, a.CollectColors(map));
    EXPECT_EQ(2, (int)map.GetCount());
    ULONG n = 0;
    EXPECT_TRUE(map.Lookup(RGB(0, 0, 255), n));
    EXPECT_EQ(4u, n);
    CArray<COLORREF, COLORREF> arr;
    arr.Add(12345);
    EXPECT_EQ(32u, a.CollectColors(arr));
    EXPECT_EQ(2, (int)arr.GetSize());
    EXPECT_EQ(0u, empty.CollectColors(arr));
    EXPECT_EQ(0, (int)arr.GetSize());
}
