// CExtBitmap and GDI objects: HBITMAPs and HICONs in and out, colour-keyed export.
#include <gtest/gtest.h>

#include "bmp_builder.h"
#include "support/dib_canvas.h"

using namespace bmptest;
using testsupport::CreateSection32;

namespace {

DWORD Pattern(int x, int y)
{
    return ((DWORD)(40 + 50 * x) << 24) | ((DWORD)(x * 30) << 16) | ((DWORD)(y * 40) << 8) | (DWORD)(x + y);
}

}  // namespace

TEST(BitmapConvert, FromHBitmap) {
    HBITMAP h = CreateSection32(4, 3, Pattern);
    CExtBitmap bmp;
    ASSERT_TRUE(bmp.AssignFromHBITMAP(h, NULL, false, true));
    EXPECT_EQ(32, bmp.GetBPP());
    EXPECT_EQ(CSize(4, 3), bmp.GetSize());
    for (int y = 0; y < 3; y++)
        for (int x = 0; x < 4; x++)
            EXPECT_EQ(Pattern(x, y), Argb(bmp, x, y)) << x << "," << y;
    // without preserving alpha every pixel is opaque
    ASSERT_TRUE(bmp.AssignFromHBITMAP(h, NULL, false, false));
    EXPECT_EQ(Pattern(2, 1) | 0xFF000000u, Argb(bmp, 2, 1));

    // a part comes out in 32 bits
    RECT rc = {1, 1, 3, 3};
    ASSERT_TRUE(bmp.AssignFromHBITMAP(h, &rc, false, true));
    EXPECT_EQ(CSize(2, 2), bmp.GetSize());
    EXPECT_EQ(Pattern(1, 1), Argb(bmp, 0, 0));
    EXPECT_EQ(Pattern(2, 2), Argb(bmp, 1, 1));
    RECT whole = {0, 0, 4, 3};
    ASSERT_TRUE(bmp.AssignFromHBITMAP(h, &whole, false, true));
    EXPECT_EQ(CSize(4, 3), bmp.GetSize());

    // a rectangle outside the bitmap, a NULL bitmap: failure, empty image, or the exception
    RECT outside = {2, 0, 5, 1};
    EXPECT_FALSE(bmp.AssignFromHBITMAP(h, &outside));
    EXPECT_TRUE(bmp.IsEmpty());
    EXPECT_FALSE(bmp.AssignFromHBITMAP(NULL));
    bool bThrown = false;
    try {
        bmp.AssignFromHBITMAP(h, &outside, true);
    } catch (CUserException* e) {
        bThrown = true;
        e->Delete();
    }
    EXPECT_TRUE(bThrown);

    // AssignFromPart does the same from another image
    CExtBitmap whole32, part;
    ASSERT_TRUE(whole32.AssignFromHBITMAP(h, NULL, false, true));
    ASSERT_TRUE(part.AssignFromPart(whole32, &rc));
    EXPECT_EQ(Pattern(2, 1), Argb(part, 1, 0));
    EXPECT_FALSE(part.AssignFromPart(whole32, &outside));
    EXPECT_TRUE(part.IsEmpty());
    ASSERT_TRUE(part.AssignFromPart(whole32, NULL));
    EXPECT_EQ(CSize(4, 3), part.GetSize());
    DeleteObject(h);
}

TEST(BitmapConvert, ToHBitmapAndBack) {
    CExtBitmap src;
    ASSERT_TRUE(Make32(src, 5, 2, Pattern));
    HBITMAP hDib = src.CreateHBITMAP(false);
    ASSERT_TRUE(hDib != NULL);
    BITMAP bm;
    GetObject(hDib, sizeof(bm), &bm);
    EXPECT_EQ(32, bm.bmBitsPixel);
    EXPECT_EQ(5, bm.bmWidth);
    CExtBitmap back;
    ASSERT_TRUE(back.AssignFromHBITMAP(hDib, NULL, false, true));
    for (int x = 0; x < 5; x++)
        EXPECT_EQ(Pattern(x, 1), Argb(back, x, 1)) << x;

    // a copy of a part, with its bits
    RECT rc = {1, 0, 4, 2};
    void* pBits = NULL;
    HBITMAP hCopy = CExtBitmap::CopyBitmapRect(hDib, &rc, &pBits);
    ASSERT_TRUE(hCopy != NULL);
    ASSERT_TRUE(pBits != NULL);
    GdiFlush();
    // bottom-up: the first row of bits is the image's last row
    EXPECT_EQ(Pattern(1, 1) & 0xFFFFFF, ((DWORD*)pBits)[0] & 0xFFFFFF);
    EXPECT_EQ(Pattern(3, 0) & 0xFFFFFF, ((DWORD*)pBits)[3 + 2] & 0xFFFFFF);
    DeleteObject(hCopy);
    EXPECT_TRUE(CExtBitmap::CopyBitmapRect(NULL) == NULL);
    DeleteObject(hDib);

    // device-dependent: the colours survive
    CExtBitmap rgb;
    ASSERT_TRUE(Make24(rgb, 3, 3, [](int x, int y) { return RGB(x * 80, y * 80, 33); }));
    HBITMAP hDdb = rgb.CreateHBITMAP(true);
    ASSERT_TRUE(hDdb != NULL);
    ASSERT_TRUE(back.AssignFromHBITMAP(hDdb));
    EXPECT_EQ(RGB(160, 80, 33), back.GetPixelColor(2, 1));
    DeleteObject(hDdb);
    CExtBitmap empty;
    EXPECT_TRUE(empty.CreateHBITMAP(false) == NULL);
}

TEST(BitmapConvert, Icons) {
    CExtBitmap bmp;
    EXPECT_TRUE(bmp.AssignFromHICON(NULL));
    EXPECT_TRUE(bmp.IsEmpty());

    // a 32-bit icon with alpha
    HBITMAP hColor = CreateSection32(16, 16, [](int x, int y) {
        return (x < 8) ? 0xFF2060A0u : ((y < 8) ? 0x80FF0000u : 0x00000000u);
    });
    HBITMAP hMask = CreateBitmap(16, 16, 1, 1, NULL);
    ICONINFO ii = {TRUE, 0, 0, hMask, hColor};
    HICON hIcon = CreateIconIndirect(&ii);
    ASSERT_TRUE(hIcon != NULL);
    ASSERT_TRUE(bmp.AssignFromHICON(hIcon));
    EXPECT_EQ(CSize(16, 16), bmp.GetSize());
    EXPECT_EQ(0xFF2060A0u, Argb(bmp, 3, 12));
    EXPECT_EQ(0x80u, Argb(bmp, 12, 3) >> 24);
    EXPECT_EQ(0x00u, Argb(bmp, 12, 12) >> 24);
    DestroyIcon(hIcon);
    DeleteObject(hColor);
    DeleteObject(hMask);

    // a masked icon without alpha: white mask pixels become transparent
    HBITMAP hColor24 = CreateSection32(16, 16, [](int x, int) { return x < 4 ? 0x00000000u : 0x00336699u; });
    BYTE maskBits[16 * 2];
    for (int y = 0; y < 16; y++) {
        maskBits[y * 2] = 0xF0;  // the first four columns transparent
        maskBits[y * 2 + 1] = 0x00;
    }
    hMask = CreateBitmap(16, 16, 1, 1, maskBits);
    ICONINFO mi = {TRUE, 8, 8, hMask, hColor24};
    hIcon = CreateIconIndirect(&mi);
    ASSERT_TRUE(hIcon != NULL);
    ASSERT_TRUE(bmp.AssignFromHICON(hIcon));
    EXPECT_EQ(CSize(16, 16), bmp.GetSize());
    EXPECT_EQ(0u, Argb(bmp, 1, 5) >> 24);
    EXPECT_EQ(0xFF336699u, Argb(bmp, 9, 5));
    DestroyIcon(hIcon);
    DeleteObject(hColor24);
    DeleteObject(hMask);
}

TEST(BitmapConvert, IconRoundTrips) {
    // colour-keyed: the key colour becomes transparent, the rest stays
    CExtBitmap src;
    ASSERT_TRUE(Make24(src, 16, 16, [](int x, int y) { return (x + y) % 5 == 0 ? RGB(255, 0, 255) : RGB(10, x * 10, y * 10); }));
    HICON hIcon = src.CreateHICON(false);
    ASSERT_TRUE(hIcon != NULL);
    CExtBitmap back;
    ASSERT_TRUE(back.AssignFromHICON(hIcon));
    DestroyIcon(hIcon);
    ASSERT_EQ(CSize(16, 16), back.GetSize());
    for (int y = 0; y < 16; y++)
        for (int x = 0; x < 16; x++) {
            BYTE a = 0;
            COLORREF c = back.GetPixelColor(x, y, &a);
            if ((x + y) % 5 == 0)
                EXPECT_EQ(0, a) << x << "," << y;
            else {
                EXPECT_EQ(255, a) << x << "," << y;
                EXPECT_EQ(RGB(10, x * 10, y * 10), c) << x << "," << y;
            }
        }

    // 32-bit alpha survives the trip
    CExtBitmap alpha;
    ASSERT_TRUE(Make32(alpha, 16, 16, [](int x, int) { return x < 8 ? 0xFF00FF00u : 0x40000080u; }));
    hIcon = alpha.CreateHICON(false);
    ASSERT_TRUE(hIcon != NULL);
    ASSERT_TRUE(back.AssignFromHICON(hIcon));
    DestroyIcon(hIcon);
    EXPECT_EQ(0xFF00FF00u, Argb(back, 2, 2));
    EXPECT_EQ(0x40u, Argb(back, 12, 2) >> 24);

    // the fixed shades are replaced by the system colours
    CExtBitmap shades;
    ASSERT_TRUE(Make24(shades, 16, 16, [](int x, int) { return x < 8 ? RGB(192, 192, 192) : RGB(128, 128, 128); }));
    hIcon = shades.CreateHICON(true);
    ASSERT_TRUE(back.AssignFromHICON(hIcon));
    DestroyIcon(hIcon);
    EXPECT_EQ(GetSysColor(COLOR_BTNFACE), back.GetPixelColor(1, 1));
    EXPECT_EQ(GetSysColor(COLOR_BTNSHADOW), back.GetPixelColor(12, 1));
    CExtBitmap empty;
    EXPECT_TRUE(empty.CreateHICON() == NULL);
}

TEST(BitmapConvert, ColorKeyedExport) {
    CExtBitmap bmp;
    ASSERT_TRUE(Make32(bmp, 3, 1, [](int x, int) {
        static const DWORD px[3] = {0xFFFF00FF, 0x00123456, 0xFF010203};
        return px[x];
    }));
    HBITMAP hBmp = NULL;
    COLORREF key = 0;
    CArray<COLORREF, COLORREF> colours;
    void* pBits = NULL;
    ASSERT_TRUE(bmp.ExportWithColorKey(hBmp, key, &colours, &pBits));
    EXPECT_EQ(RGB(0, 255, 0), key);  // the image uses magenta
    ASSERT_EQ(4, (int)colours.GetSize());
    EXPECT_EQ(key, colours[0]);
    ASSERT_TRUE(pBits != NULL);
    GdiFlush();
    const DWORD* p = (const DWORD*)pBits;
    EXPECT_EQ(0x00FF00FFu, p[0] & 0xFFFFFF);
    EXPECT_EQ(0x0000FF00u, p[1] & 0xFFFFFF);  // the transparent pixel shows the key
    EXPECT_EQ(0x00010203u, p[2] & 0xFFFFFF);
    DeleteObject(hBmp);

    // all three usual keys taken: the smallest unused colour from 1
    ASSERT_TRUE(Make24(bmp, 4, 1, [](int x, int) {
        static const COLORREF px[4] = {RGB(255, 0, 255), RGB(0, 255, 0), RGB(192, 192, 192), 0x000001};
        return px[x];
    }));
    ASSERT_TRUE(bmp.ExportWithColorKey(hBmp, key));
    EXPECT_EQ((COLORREF)0x000002, key);
    DeleteObject(hBmp);
    CExtBitmap empty;
    EXPECT_FALSE(empty.ExportWithColorKey(hBmp, key));

    // a section filled first, then the image blended over it
    ASSERT_TRUE(Make32(bmp, 2, 1, [](int x, int) { return x ? 0xFF0000FFu : 0x00FFFFFFu; }));
    HBITMAP hSection = bmp.CreateDIBSection32(&pBits, RGB(9, 9, 9));
    ASSERT_TRUE(hSection != NULL);
    GdiFlush();
    p = (const DWORD*)pBits;
    EXPECT_EQ(0x00090909u, p[0] & 0xFFFFFF);
    EXPECT_EQ(0x000000FFu, p[1] & 0xFFFFFF);
    DeleteObject(hSection);
}
