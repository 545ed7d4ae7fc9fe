// The shared colour arithmetic: conversions, adjustment, mixing, blending.
#include <gtest/gtest.h>
#include "toolkit/core/bitmap.h"

TEST(BitmapColor, HlsOfPrimariesAndGreys) {
    double h = -1, s = -1, l = -1;
    CExtBitmap::stat_RGB2HLS(RGB(255, 0, 0), h, s, l);
    EXPECT_DOUBLE_EQ(0.0, h);
    EXPECT_DOUBLE_EQ(1.0, s);
    EXPECT_DOUBLE_EQ(0.5, l);

    CExtBitmap::stat_RGB2HLS(RGB(0, 255, 0), h, s, l);
    EXPECT_NEAR(1.0 / 3.0, h, 1e-12);
    CExtBitmap::stat_RGB2HLS(RGB(0, 0, 255), h, s, l);
    EXPECT_NEAR(2.0 / 3.0, h, 1e-12);
    // magenta: red is the maximum and the raw hue is negative, so 1 is added
    CExtBitmap::stat_RGB2HLS(RGB(255, 0, 255), h, s, l);
    EXPECT_NEAR(5.0 / 6.0, h, 1e-12);

    CExtBitmap::stat_RGB2HLS(RGB(128, 128, 128), h, s, l);
    EXPECT_DOUBLE_EQ(0.0, h);
    EXPECT_DOUBLE_EQ(0.0, s);
    EXPECT_NEAR(128.0 / 255.0, l, 1e-12);

    // dark colours use (max - min) / (max + min), light ones (max - min) / (2 - max - min)
    CExtBitmap::stat_RGB2HLS(RGB(102, 51, 51), h, s, l);
    EXPECT_NEAR(51.0 / 153.0, s, 1e-12);
    CExtBitmap::stat_RGB2HLS(RGB(255, 204, 204), h, s, l);
    EXPECT_NEAR((51.0 / 255.0) / (2.0 - 459.0 / 255.0), s, 1e-12);
}

TEST(BitmapColor, HlsToRgb) {
    EXPECT_EQ((COLORREF)0x0000FF, CExtBitmap::stat_HLS2RGB(0.0, 0.5, 1.0));
    EXPECT_EQ(RGB(0, 255, 0), CExtBitmap::stat_HLS2RGB(1.0 / 3.0, 0.5, 1.0));
    EXPECT_EQ(RGB(0, 0, 255), CExtBitmap::stat_HLS2RGB(2.0 / 3.0, 0.5, 1.0));
    // zero saturation: every channel trunc(l * 255)
    EXPECT_EQ(RGB(127, 127, 127), CExtBitmap::stat_HLS2RGB(0.3, 0.5, 0.0));
    EXPECT_EQ(RGB(255, 255, 255), CExtBitmap::stat_HLS2RGB(0.0, 1.0, 0.0));

    // a round trip through HLS loses at most one step per channel (truncation)
    const COLORREF samples[] = {RGB(10, 200, 30), RGB(250, 240, 5), RGB(1, 2, 3),
                                RGB(90, 80, 200), RGB(255, 128, 0), RGB(33, 33, 34)};
    for (COLORREF c : samples) {
        double h, s, l;
        CExtBitmap::stat_RGB2HLS(c, h, s, l);
        COLORREF back = CExtBitmap::stat_HLS2RGB(h, l, s);
        SCOPED_TRACE(testing::Message() << std::hex << "colour 0x" << c << " back 0x" << back);
        EXPECT_LE(abs((int)GetRValue(c) - (int)GetRValue(back)), 1);
        EXPECT_LE(abs((int)GetGValue(c) - (int)GetGValue(back)), 1);
        EXPECT_LE(abs((int)GetBValue(c) - (int)GetBValue(back)), 1);
    }
}

TEST(BitmapColor, HueToRgbPieces) {
    EXPECT_DOUBLE_EQ(0.2 + 0.6 * 0.6, CExtBitmap::stat_HueToRGB(0.2, 0.8, 0.1));
    EXPECT_DOUBLE_EQ(0.8, CExtBitmap::stat_HueToRGB(0.2, 0.8, 0.4));
    EXPECT_NEAR(0.2 + 0.6 * (2.0 / 3.0 - 0.6) * 6.0, CExtBitmap::stat_HueToRGB(0.2, 0.8, 0.6), 1e-12);
    EXPECT_DOUBLE_EQ(0.2, CExtBitmap::stat_HueToRGB(0.2, 0.8, 0.9));
    // brought into range by one step of +1 / -1
    EXPECT_DOUBLE_EQ(CExtBitmap::stat_HueToRGB(0.2, 0.8, 0.9), CExtBitmap::stat_HueToRGB(0.2, 0.8, -0.1));
    EXPECT_DOUBLE_EQ(CExtBitmap::stat_HueToRGB(0.2, 0.8, 0.25), CExtBitmap::stat_HueToRGB(0.2, 0.8, 1.25));
}

TEST(BitmapColor, DegreesForm) {
    EXPECT_EQ(RGB(255, 0, 0), CExtBitmap::stat_HLS2RGB_Degrees(0.0, 0.5, 1.0));
    EXPECT_EQ(RGB(0, 255, 0), CExtBitmap::stat_HLS2RGB_Degrees(120.0, 0.5, 1.0));
    EXPECT_EQ(RGB(0, 0, 255), CExtBitmap::stat_HLS2RGB_Degrees(240.0, 0.5, 1.0));
    EXPECT_EQ(RGB(63, 63, 63), CExtBitmap::stat_HLS2RGB_Degrees(10.0, 0.25, 0.0));
    EXPECT_EQ(255, CExtBitmap::stat_HueToRGB_Degrees(0.0f, 1.0f, 100.0f));
    EXPECT_EQ(127, CExtBitmap::stat_HueToRGB_Degrees(0.0f, 1.0f, 30.0f));
    EXPECT_EQ(0, CExtBitmap::stat_HueToRGB_Degrees(0.0f, 1.0f, 300.0f));
    // 370 degrees is 10; -60 is 300
    EXPECT_EQ(CExtBitmap::stat_HueToRGB_Degrees(0.0f, 1.0f, 10.0f),
              CExtBitmap::stat_HueToRGB_Degrees(0.0f, 1.0f, 370.0f));
    EXPECT_EQ(0, CExtBitmap::stat_HueToRGB_Degrees(0.0f, 1.0f, -60.0f));
}

TEST(BitmapColor, HlsAdjust) {
    // dL -0.6 keeps 40 % of the lightness, dS 0.5 moves saturation halfway to 1
    COLORREF c = RGB(200, 100, 100);
    double h, s, l;
    CExtBitmap::stat_RGB2HLS(c, h, s, l);
    COLORREF adj = CExtBitmap::stat_HLS_Adjust(c, 0.0, -0.6, 0.5);
    EXPECT_EQ(CExtBitmap::stat_HLS2RGB(h, l * 0.4, s + 0.5 * (1.0 - s)), adj);
    double h2, s2, l2;
    CExtBitmap::stat_RGB2HLS(adj, h2, s2, l2);
    EXPECT_NEAR(l * 0.4, l2, 0.01);
    EXPECT_NEAR(h, h2, 0.01);

    // no deltas: only the round trip
    EXPECT_EQ(CExtBitmap::stat_HLS2RGB(h, l, s), CExtBitmap::stat_HLS_Adjust(c));
    // dL -1 is black, dL +1 white, whatever the colour
    EXPECT_EQ(RGB(0, 0, 0), CExtBitmap::stat_HLS_Adjust(RGB(10, 220, 90), 0, -1, 0));
    EXPECT_EQ(RGB(255, 255, 255), CExtBitmap::stat_HLS_Adjust(RGB(10, 220, 90), 0, 1, 0));
    // black lifted to lightness 0.5 is 0x7F7F7F
    EXPECT_EQ(RGB(127, 127, 127), CExtBitmap::stat_HLS_Adjust(RGB(0, 0, 0), 0, 0.5, 0));
    // -0.75 takes lightness v to v / 4, then +0.75 takes that to 0.75 + (v / 4) / 4
    COLORREF grey = RGB(100, 100, 100);
    COLORREF twice = CExtBitmap::stat_HLS_Adjust(CExtBitmap::stat_HLS_Adjust(grey, 0, -0.75, 0), 0, 0.75, 0);
    double ht, st, lt;
    CExtBitmap::stat_RGB2HLS(twice, ht, st, lt);
    EXPECT_NEAR(0.75 + (100.0 / 255.0) / 16.0, lt, 2.0 / 255.0);
}

TEST(BitmapColor, MixBlendInvert) {
    const COLORREF white = RGB(255, 255, 255), black = RGB(0, 0, 0);
    EXPECT_EQ(RGB(128, 128, 128), CExtBitmap::stat_RGB_Mix(white, black, 50));
    EXPECT_EQ(RGB(128, 128, 128), CExtBitmap::stat_RGB_Mix(white, black, 500));
    // 100 is per mille: 10 % white
    EXPECT_EQ(RGB(26, 26, 26), CExtBitmap::stat_RGB_Mix(white, black, 100));
    EXPECT_EQ(RGB(230, 230, 230), CExtBitmap::stat_RGB_Mix(white, black, 90));
    EXPECT_EQ(white, CExtBitmap::stat_RGB_Mix(white, black, 1000));
    EXPECT_EQ(black, CExtBitmap::stat_RGB_Mix(white, black, 0));
    EXPECT_EQ(RGB(10, 120, 210), CExtBitmap::stat_RGB_Mix(RGB(0, 100, 200), RGB(20, 140, 220), 50));

    const COLORREF c1 = RGB(10, 20, 30), c2 = RGB(200, 100, 50);
    EXPECT_EQ(c1, CExtBitmap::stat_RGB_Blend(c1, c2, 255));
    EXPECT_EQ(c2, CExtBitmap::stat_RGB_Blend(c1, c2, 0));
    EXPECT_EQ(RGB((10 * 128 + 200 * 127) / 255, (20 * 128 + 100 * 127) / 255, (30 * 128 + 50 * 127) / 255),
              CExtBitmap::stat_RGB_Blend(c1, c2, 128));
    // out-of-range alpha still gives channels in range
    COLORREF odd = CExtBitmap::stat_RGB_Blend(white, black, 400);
    EXPECT_EQ(white, odd);

    EXPECT_EQ(RGB(245, 235, 225), CExtBitmap::stat_RGB_Invert(c1));
    EXPECT_EQ(black, CExtBitmap::stat_RGB_Invert(white));
}
