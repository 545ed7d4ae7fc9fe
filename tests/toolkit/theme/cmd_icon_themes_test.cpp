// Command icons in the real themes: the disabled look that each theme gives an icon
// (base, XP, Office 2003 and Studio 2005, without visual styles and in the three Luna
// variants), the disabled icon painted, and the check mark and radio dot icons drawn
// by the theme engine.
#include <gtest/gtest.h>

#include <stdlib.h>

#include "support/dib_canvas.h"
#include "theme_test_support.h"
#include "toolkit/core/cmd_icon.h"

using themetest::LunaScope;
using themetest::ScreenDepthScope;
using testsupport::DibCanvas;

namespace {

// The main image: 4 x 2 pixels (0xAARRGGBB, top row first) with pure white, colours,
// a half-transparent and a fully transparent pixel, black and grey.
const int kCx = 4, kCy = 2;
const DWORD kMain[kCy][kCx] = {
    {0xFFFFFFFF, 0xFF4080C0, 0xFFC02020, 0x802060A0},
    {0x00000000, 0xFF000000, 0xC010F010, 0xFF808080},
};

void MakeIcon(CExtCmdIcon& icon)
{
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bi.bmiHeader.biWidth = kCx;
    bi.bmiHeader.biHeight = -kCy;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    void* pv = NULL;
    HBITMAP hbm = ::CreateDIBSection(NULL, &bi, DIB_RGB_COLORS, &pv, NULL, 0);
    ASSERT_TRUE(hbm != NULL && pv != NULL);
    ::memcpy(pv, kMain, sizeof(kMain));
    ::GdiFlush();
    ASSERT_TRUE(icon.m_bmpNormal.AssignFromHBITMAP(hbm, NULL, false, true));
    ::DeleteObject(hbm);
    icon.OnContentChanged();
}

COLORREF ColorOf(DWORD argb)
{
    return RGB((argb >> 16) & 0xFF, (argb >> 8) & 0xFF, argb & 0xFF);
}

// The alpha that an alpha delta leaves (transparent pixels stay transparent).
int AlphaAfter(int a, double d)
{
    if (a == 0)
        return 0;
    double x = a / 255.0;
    x = (d > 0.0) ? x + d * (1.0 - x) : x * (1.0 + d);
    x = x < 0.0 ? 0.0 : (x > 1.0 ? 1.0 : x);
    return (int)(x * 255.0);
}

// A pixel in the mono look: its weighted grey as the lightness, with the tint's hue
// and saturation (plain grey without a tint).
COLORREF MonoOf(COLORREF clr, COLORREF clrTint)
{
    double grey = 0.3 * GetBValue(clr) + 0.5 * GetGValue(clr) + 0.2 * GetRValue(clr);
    int n = (int)(grey > 255.0 ? 255.0 : grey);
    if (clrTint == COLORREF(-1L))
        return RGB(n, n, n);
    double h, s, l;
    CExtBitmap::stat_RGB2HLS(clrTint, h, s, l);
    return CExtBitmap::stat_HLS2RGB(h, n / 255.0, s);
}

// A colour's hue and lightness at saturation 0.3: the tint of the Luna disabled look.
COLORREF LunaTint(COLORREF clr)
{
    double h, s, l;
    CExtBitmap::stat_RGB2HLS(clr, h, s, l);
    return CExtBitmap::stat_HLS2RGB(h, l, 0.3);
}

void ExpectLook(const CExtBitmap& bmp, COLORREF clrTint, double dAlpha, const char* sCase)
{
    ASSERT_FALSE(bmp.IsEmpty()) << sCase;
    ASSERT_EQ(32, bmp.GetBPP()) << sCase;
    for (int y = 0; y < kCy; y++)
        for (int x = 0; x < kCx; x++)
        {
            BYTE a = 0;
            COLORREF c = bmp.GetPixelColor(x, y, &a);
            EXPECT_EQ(MonoOf(ColorOf(kMain[y][x]), clrTint), c) << sCase << " at " << x << "," << y;
            EXPECT_EQ(AlphaAfter(kMain[y][x] >> 24, dAlpha), a) << sCase << " at " << x << "," << y;
        }
}

// Pixels worked out by hand from the formulas, for the looks with fixed colours.
struct Expected
{
    COLORREF clr;
    int a;
};

void ExpectPixels(const CExtBitmap& bmp, const Expected (&px)[kCy][kCx], const char* sCase)
{
    for (int y = 0; y < kCy; y++)
        for (int x = 0; x < kCx; x++)
        {
            BYTE a = 0;
            EXPECT_EQ(px[y][x].clr, bmp.GetPixelColor(x, y, &a)) << sCase << " at " << x << "," << y;
            EXPECT_EQ(px[y][x].a, a) << sCase << " at " << x << "," << y;
        }
}

const char* SchemeName(int n)
{
    static const char* names[] = {"classic", "blue", "olive", "silver"};
    return names[n];
}

class CmdIconThemes : public ::testing::Test
{
protected:
    void SetUp() override { m_depth = new ScreenDepthScope(32); }
    void TearDown() override { delete m_depth; }
    ScreenDepthScope* m_depth = nullptr;
};

}  // namespace

TEST_F(CmdIconThemes, BaseThemeIsPlainGreyAtAQuarterOfTheAlpha)
{
    for (int nScheme = 0; nScheme <= 3; nScheme++)
    {
        LunaScope luna(nScheme, RUNTIME_CLASS(CExtPaintManager));
        ASSERT_EQ(29901, luna.PM()->GetThemeId());
        EXPECT_EQ(COLORREF(-1L), luna.PM()->GetDisabledIconColor()) << SchemeName(nScheme);
        EXPECT_EQ(0.0, luna.PM()->GetDisabledIconAlpha()) << SchemeName(nScheme);
        CExtCmdIcon icon;
        MakeIcon(icon);
        const CExtBitmap& bmp = icon.GetBitmap(CExtCmdIcon::__PAINT_DISABLED, luna.PM());
        EXPECT_EQ(&icon.m_bmpDisabled, &bmp);
        static const Expected px[kCy][kCx] = {
            {{RGB(255, 255, 255), 63}, {RGB(134, 134, 134), 63}, {RGB(64, 64, 64), 63}, {RGB(102, 102, 102), 32}},
            {{RGB(0, 0, 0), 0}, {RGB(0, 0, 0), 63}, {RGB(128, 128, 128), 48}, {RGB(128, 128, 128), 63}},
        };
        ExpectPixels(bmp, px, SchemeName(nScheme));
    }
}

TEST_F(CmdIconThemes, XpIsMidGreyAtHalfTheAlphaWithWhiteCleared)
{
    for (int nScheme = 0; nScheme <= 3; nScheme++)
    {
        LunaScope luna(nScheme, RUNTIME_CLASS(CExtPaintManagerXP));
        ASSERT_EQ(29902, luna.PM()->GetThemeId());
        EXPECT_EQ(COLORREF(-1L), luna.PM()->GetDisabledIconColor()) << SchemeName(nScheme);
        CExtCmdIcon icon;
        MakeIcon(icon);
        const CExtBitmap& bmp = icon.GetBitmap(CExtCmdIcon::__PAINT_DISABLED, luna.PM());
        // whatever the theme's colour 2001: black, then lifted to lightness 0.5
        static const Expected px[kCy][kCx] = {
            {{RGB(127, 127, 127), 0}, {RGB(127, 127, 127), 127}, {RGB(127, 127, 127), 127},
             {RGB(127, 127, 127), 64}},
            {{RGB(127, 127, 127), 0}, {RGB(127, 127, 127), 127}, {RGB(127, 127, 127), 96},
             {RGB(127, 127, 127), 127}},
        };
        ExpectPixels(bmp, px, SchemeName(nScheme));
    }
}

TEST_F(CmdIconThemes, Office2003TintsWithTheFaceColour)
{
    for (int nScheme = 0; nScheme <= 3; nScheme++)
    {
        LunaScope luna(nScheme, RUNTIME_CLASS(CExtPaintManagerOffice2003));
        CExtPaintManager* pPM = luna.PM();
        ASSERT_EQ(29903, pPM->GetThemeId());
        ASSERT_EQ(nScheme, pPM->GetLunaColorScheme());
        const COLORREF clrFace = pPM->LookupColor(COLOR_3DFACE);
        if (nScheme == 0)
        {
            EXPECT_EQ(::GetSysColor(COLOR_3DFACE), clrFace);
        }
        EXPECT_EQ(clrFace, pPM->GetDisabledIconColor()) << SchemeName(nScheme);
        EXPECT_EQ(-0.5, pPM->GetDisabledIconAlpha()) << SchemeName(nScheme);
        CExtCmdIcon icon;
        MakeIcon(icon);
        const CExtBitmap& bmp = icon.GetBitmap(CExtCmdIcon::__PAINT_DISABLED, pPM);
        if (nScheme == 0)
            ExpectLook(bmp, clrFace, -0.7, SchemeName(nScheme));  // no scheme: the face tint itself
        else
            ExpectLook(bmp, LunaTint(clrFace), -0.5, SchemeName(nScheme));
    }
}

TEST_F(CmdIconThemes, Studio2005TintsWithItsSchemeColour)
{
    {
        // without visual styles: the face colour, at 0.3 of the alpha
        LunaScope luna(0, RUNTIME_CLASS(CExtPaintManagerStudio2005));
        CExtPaintManager* pPM = luna.PM();
        ASSERT_EQ(29905, pPM->GetThemeId());
        const COLORREF clrFace = pPM->LookupColor(COLOR_3DFACE);
        EXPECT_EQ(clrFace, pPM->GetDisabledIconColor());
        EXPECT_EQ(-0.5, pPM->GetDisabledIconAlpha());
        CExtCmdIcon icon;
        MakeIcon(icon);
        ExpectLook(icon.GetBitmap(CExtCmdIcon::__PAINT_DISABLED, pPM), clrFace, -0.7, "classic");
    }
    {
        // olive: RGB(164, 165, 144) at saturation 0.3, alpha delta -0.7
        LunaScope luna(2, RUNTIME_CLASS(CExtPaintManagerStudio2005));
        CExtPaintManager* pPM = luna.PM();
        EXPECT_EQ(RGB(164, 165, 144), pPM->GetDisabledIconColor());
        EXPECT_EQ(-0.7, pPM->GetDisabledIconAlpha());
        EXPECT_EQ(RGB(0xB5, 0xB8, 0x7C), LunaTint(RGB(164, 165, 144)));
        CExtCmdIcon icon;
        MakeIcon(icon);
        const CExtBitmap& bmp = icon.GetBitmap(CExtCmdIcon::__PAINT_DISABLED, pPM);
        ExpectLook(bmp, RGB(0xB5, 0xB8, 0x7C), -0.7, "olive");
        BYTE a = 0;
        EXPECT_EQ(RGB(166, 169, 98), bmp.GetPixelColor(1, 0, &a));  // grey 134 in the olive tint
        EXPECT_EQ(76, a);
    }
    for (int nScheme : {1, 3})
    {
        // blue and silver: navy RGB(0, 0, 128) at saturation 0.3
        LunaScope luna(nScheme, RUNTIME_CLASS(CExtPaintManagerStudio2005));
        CExtPaintManager* pPM = luna.PM();
        EXPECT_EQ(RGB(0, 0, 128), pPM->GetDisabledIconColor()) << SchemeName(nScheme);
        EXPECT_EQ(-0.7, pPM->GetDisabledIconAlpha()) << SchemeName(nScheme);
        EXPECT_EQ(RGB(44, 44, 83), LunaTint(RGB(0, 0, 128)));
        CExtCmdIcon icon;
        MakeIcon(icon);
        const CExtBitmap& bmp = icon.GetBitmap(CExtCmdIcon::__PAINT_DISABLED, pPM);
        ExpectLook(bmp, RGB(44, 44, 83), -0.7, SchemeName(nScheme));
        BYTE a = 0;
        EXPECT_EQ(RGB(96, 96, 171), bmp.GetPixelColor(1, 0, &a)) << SchemeName(nScheme);
        EXPECT_EQ(76, a);
    }
}

TEST_F(CmdIconThemes, DisabledLookFollowsTheThemeAndIsPainted)
{
    CExtCmdIcon icon;
    MakeIcon(icon);
    {
        LunaScope luna(2, RUNTIME_CLASS(CExtPaintManagerStudio2005));
        icon.OnThemeChanged(luna.PM(), 0, 0);
        BYTE a = 0;
        EXPECT_EQ(RGB(166, 169, 98), icon.m_bmpDisabled.GetPixelColor(1, 0, &a));
        EXPECT_EQ(76, a);

        // painted over white: the platform blend of the disabled pixel
        DibCanvas canvas(8, 4, RGB(255, 255, 255));
        icon.Paint(luna.PM(), canvas.Dc(), 2, 1, -1, -1, CExtCmdIcon::__PAINT_DISABLED);
        const COLORREF got = canvas.Pixel(3, 1);
        const int r = 166 * 76 / 255 + 255 - 76, g = 169 * 76 / 255 + 255 - 76, b = 98 * 76 / 255 + 255 - 76;
        EXPECT_LE(abs(GetRValue(got) - r), 1) << std::hex << got;
        EXPECT_LE(abs(GetGValue(got) - g), 1) << std::hex << got;
        EXPECT_LE(abs(GetBValue(got) - b), 1) << std::hex << got;
        EXPECT_EQ(RGB(255, 255, 255), canvas.Pixel(2, 2));  // transparent pixel: canvas untouched
        EXPECT_EQ(RGB(255, 255, 255), canvas.Pixel(1, 1));  // outside the icon
    }
    {
        // the XP theme is installed again by the scope's end; a theme change remakes the look
        CExtPaintManager* pPM = g_CurrentPaintManager.m_pPM;
        ASSERT_EQ(29902, pPM->GetThemeId());
        icon.OnThemeChanged(pPM, 0, 0);
        BYTE a = 0;
        EXPECT_EQ(RGB(127, 127, 127), icon.m_bmpDisabled.GetPixelColor(1, 0, &a));
        EXPECT_EQ(127, a);
        EXPECT_EQ(RGB(127, 127, 127), icon.m_bmpDisabled.GetPixelColor(0, 0, &a));
        EXPECT_EQ(0, a);
    }
}

TEST_F(CmdIconThemes, CheckMarkAndRadioDotIconsAreDrawnByTheTheme)
{
    LunaScope luna(0, RUNTIME_CLASS(CExtPaintManagerStudio2005));
    CExtPaintManager* pPM = luna.PM();
    const COLORREF clrMark = pPM->LookupColor(1010);
    const COLORREF clrShadow = CExtBitmap::stat_RGB_Invert(clrMark);
    ASSERT_NE(clrMark, clrShadow);
    for (int nRadio = 0; nRadio < 2; nRadio++)
    {
        const char* sCase = nRadio ? "radio dot" : "check mark";
        CExtCmdIcon icon;
        ASSERT_TRUE(nRadio ? icon.CreateRadioDotIcon(pPM) : icon.CreateCheckMarkIcon(pPM)) << sCase;
        ASSERT_EQ(CSize(16, 16), icon.GetSize()) << sCase;
        int nMark = 0, nShadow = 0;
        for (int y = 0; y < 16; y++)
            for (int x = 0; x < 16; x++)
            {
                BYTE a = 0;
                COLORREF c = icon.m_bmpNormal.GetPixelColor(x, y, &a);
                if (c == RGB(255, 0, 255))
                {
                    EXPECT_EQ(0, a) << sCase << " at " << x << "," << y;
                    continue;
                }
                // the mark and its shadow sit in the 7 x 7 cell from (5, 5): the mark
                // is placed at the centre minus (3, 3), in the theme's colour 1010
                EXPECT_TRUE(c == clrMark || c == clrShadow) << sCase << " at " << x << "," << y;
                EXPECT_EQ(255, a) << sCase << " at " << x << "," << y;
                EXPECT_TRUE(x >= 5 && x < 12 && y >= 5 && y < 12) << sCase << " at " << x << "," << y;
                (c == clrMark ? nMark : nShadow)++;
            }
        if (nRadio)
        {
            EXPECT_GT(nMark, 4) << sCase;
            EXPECT_GT(nShadow, 0) << sCase;
        }
        else
        {
            EXPECT_EQ(14, nMark) << sCase;
            EXPECT_EQ(7, nShadow) << sCase;
            BYTE a = 0;
            EXPECT_EQ(clrMark, icon.m_bmpNormal.GetPixelColor(5, 7, &a));  // first column: dy 2 and 3
            EXPECT_EQ(clrShadow, icon.m_bmpNormal.GetPixelColor(5, 9, &a));
        }
    }
}
