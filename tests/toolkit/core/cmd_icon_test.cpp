// The command icon: state images and the disabled look of each kind of theme (through
// a stand-in for the theme engine's hook table), painting, effects, scaling, copying,
// storing and the standard icons.
#include <gtest/gtest.h>

#include "bmp_builder.h"
#include "support/dib_canvas.h"
#include "toolkit/core/cmd_icon.h"

using namespace bmptest;
using testsupport::DibCanvas;

namespace {

// What a paint manager answers, as the theme engine would through its hooks.
struct FakeTheme
{
    int themeId = 29901;
    int luna = 0;
    COLORREF disabledColor = COLORREF(-1L);
    double disabledAlpha = 0.0;
    COLORREF color2001 = RGB(0x80, 0x40, 0x20);
    COLORREF color15 = RGB(0xEC, 0xE9, 0xD8);
    COLORREF color1010 = RGB(0, 0, 0);
    int marks = 0;
    int markX = -1, markY = -1;
    COLORREF markColor = 0;
};

FakeTheme* Theme(CExtPaintManager* pPM)
{
    return reinterpret_cast<FakeTheme*>(pPM);
}

void DrawMark(CExtPaintManager* pPM, HDC hDC, int x, int y, COLORREF clr)
{
    FakeTheme* t = Theme(pPM);
    t->marks++;
    t->markX = x;
    t->markY = y;
    t->markColor = clr;
    SetPixel(hDC, x, y, clr);
}

const CExtCmdIconThemeHooks g_hooks = {
    [](CExtPaintManager* p) { return Theme(p)->themeId; },
    [](CExtPaintManager* p, int i) {
        FakeTheme* t = Theme(p);
        return i == 2001 ? t->color2001 : i == 15 ? t->color15 : i == 1010 ? t->color1010 : COLORREF(0);
    },
    [](CExtPaintManager* p) { return Theme(p)->luna; },
    [](CExtPaintManager* p) { return Theme(p)->disabledColor; },
    [](CExtPaintManager* p) { return Theme(p)->disabledAlpha; },
    DrawMark,
    DrawMark,
};

class CmdIconTest : public ::testing::Test
{
protected:
    void SetUp() override { CExtCmdIcon::stat_SetThemeHooks(&g_hooks); }
    void TearDown() override { CExtCmdIcon::stat_SetThemeHooks(NULL); }
    CExtPaintManager* PM() { return reinterpret_cast<CExtPaintManager*>(&m_theme); }

    // a 4x4 opaque icon: white in the top-left pixel, colours elsewhere
    void MakeIcon(CExtCmdIcon& icon)
    {
        ASSERT_TRUE(Make32(icon.m_bmpNormal, 4, 4, [](int x, int y) {
            return (x == 0 && y == 0) ? 0xFFFFFFFFu : (0xFF000000u | (DWORD)(x * 0x400000 + y * 0x3000 + 0x50));
        }));
        icon.OnContentChanged();
    }
    FakeTheme m_theme;
};

}  // namespace

TEST_F(CmdIconTest, DisabledLookOfEachTheme)
{
    CExtCmdIcon icon;
    MakeIcon(icon);

    // XP: grey 0x7F7F7F throughout, half alpha, pure white transparent
    m_theme.themeId = 29902;
    CExtBitmap& xp = icon.GetBitmap(CExtCmdIcon::__PAINT_DISABLED, PM());
    EXPECT_EQ(&icon.m_bmpDisabled, &xp);
    for (int y = 0; y < 4; y++)
        for (int x = 0; x < 4; x++) {
            BYTE a = 0;
            EXPECT_EQ(RGB(127, 127, 127), xp.GetPixelColor(x, y, &a)) << x << "," << y;
            EXPECT_EQ((x == 0 && y == 0) ? 0 : 127, a) << x << "," << y;
        }

    // the base theme: plain grey, a quarter of the alpha
    m_theme.themeId = 29901;
    icon.OnThemeChanged(PM(), 0, 0);
    RGBQUAD q;
    ASSERT_TRUE(icon.m_bmpDisabled.GetPixel(3, 3, q));
    EXPECT_EQ(q.rgbRed, q.rgbGreen);
    EXPECT_EQ(q.rgbGreen, q.rgbBlue);
    EXPECT_EQ(63, q.rgbReserved);
    RGBQUAD n;
    icon.m_bmpNormal.GetPixel(3, 3, n);
    EXPECT_EQ((int)(0.3 * n.rgbBlue + 0.5 * n.rgbGreen + 0.2 * n.rgbRed), q.rgbRed);

    // a Luna theme with a disabled colour: its hue and lightness at saturation 0.3
    m_theme.themeId = 29905;
    m_theme.luna = 2;
    m_theme.disabledColor = RGB(164, 165, 144);
    m_theme.disabledAlpha = -0.7;
    icon.OnSysColorChange(PM());
    double h, s, l;
    CExtBitmap::stat_RGB2HLS(RGB(164, 165, 144), h, s, l);
    double th, ts, tl;
    CExtBitmap::stat_RGB2HLS(CExtBitmap::stat_HLS2RGB(h, l, 0.3), th, ts, tl);
    BYTE a = 0;
    COLORREF c = icon.m_bmpDisabled.GetPixelColor(2, 2, &a);
    icon.m_bmpNormal.GetPixel(2, 2, n);
    int grey = (int)(0.3 * n.rgbBlue + 0.5 * n.rgbGreen + 0.2 * n.rgbRed);
    EXPECT_EQ(CExtBitmap::stat_HLS2RGB(th, grey / 255.0, ts), c);
    EXPECT_EQ(76, a);  // 255 * 0.3

    // no Luna scheme: the face colour tint and -0.7
    m_theme.luna = 0;
    m_theme.disabledAlpha = -0.5;  // not used without a scheme
    icon.OnSettingChange(PM(), 0, NULL);
    c = icon.m_bmpDisabled.GetPixelColor(2, 2, &a);
    CExtBitmap::stat_RGB2HLS(m_theme.color15, th, ts, tl);
    EXPECT_EQ(CExtBitmap::stat_HLS2RGB(th, grey / 255.0, ts), c);
    EXPECT_EQ(76, a);

    // without a paint manager: the system face colour and half the alpha
    icon.OnDisplayChange(NULL, 32, CPoint(0, 0));
    c = icon.m_bmpDisabled.GetPixelColor(2, 2, &a);
    CExtBitmap::stat_RGB2HLS(GetSysColor(COLOR_3DFACE), th, ts, tl);
    EXPECT_EQ(CExtBitmap::stat_HLS2RGB(th, grey / 255.0, ts), c);
    EXPECT_EQ(127, a);
}

TEST_F(CmdIconTest, StateImagesGivenAndGenerated)
{
    CExtCmdIcon icon;
    EXPECT_TRUE(icon.IsEmpty());
    EXPECT_TRUE(icon.GetBitmap(1, PM()).IsEmpty());
    MakeIcon(icon);
    // hover was never set: the main image
    EXPECT_EQ(&icon.m_bmpNormal, &icon.GetBitmap(CExtCmdIcon::__PAINT_HOVER, PM()));
    EXPECT_EQ(&icon.m_bmpNormal, &icon.GetBitmap(7, PM()));
    EXPECT_FALSE(icon.m_bmpDisabled.IsEmpty());  // the request made the disabled one
    icon.OnPaintManagerChanged();
    EXPECT_TRUE(icon.m_bmpDisabled.IsEmpty());

    // a given disabled image survives dropping, but not a request for state 2
    ASSERT_TRUE(Make32(icon.m_bmpDisabled, 4, 4, [](int, int) { return 0xFF123456u; }));
    icon.m_dwFlags |= CExtCmdIcon::__EXT_ICON_PERSISTENT_BITMAP_DISABLED;
    icon.OnPaintManagerChanged();
    EXPECT_EQ(0xFF123456u, Argb(icon.m_bmpDisabled, 1, 1));
    EXPECT_EQ(0xFF123456u, Argb(icon.GetBitmap(1, PM()), 1, 1));
    EXPECT_EQ(&icon.m_bmpNormal, &icon.GetBitmap(2, PM()));
    EXPECT_NE(0xFF123456u, Argb(icon.m_bmpDisabled, 1, 1));
    EXPECT_EQ((DWORD)CExtCmdIcon::__EXT_ICON_PERSISTENT_BITMAP_DISABLED, icon.m_dwFlags);

    // copies take a state image only with its bit
    CExtCmdIcon withHover;
    MakeIcon(withHover);
    ASSERT_TRUE(Make32(withHover.m_bmpHover, 4, 4, [](int, int) { return 0xFF0000FFu; }));
    CExtCmdIcon copy(withHover);
    EXPECT_TRUE(copy.m_bmpHover.IsEmpty());
    withHover.m_dwFlags = CExtCmdIcon::__EXT_ICON_PERSISTENT_BITMAP_HOVER;
    copy = withHover;
    EXPECT_EQ(0xFF0000FFu, Argb(copy.GetBitmap(2, PM()), 0, 0));
    EXPECT_EQ(Argb(withHover.m_bmpNormal, 2, 3), Argb(copy.m_bmpNormal, 2, 3));
    copy.Empty();
    EXPECT_TRUE(copy.IsEmpty());
    EXPECT_EQ(0u, copy.m_dwFlags);
    EXPECT_TRUE(copy.m_bmpHover.IsEmpty());
}

TEST_F(CmdIconTest, Serialize)
{
    CExtCmdIcon icon;
    MakeIcon(icon);
    icon.GetBitmap(1, PM());  // a generated disabled image is not stored
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        icon.Serialize(ar);
        ar.Close();
    }
    ULONGLONG nMainOnly = file.GetLength();
    EXPECT_EQ(4u + 4u + 14u + 40u + 64u, (UINT)nMainOnly);
    file.SeekToBegin();
    CExtCmdIcon back;
    MakeIcon(back);
    back.m_dwFlags = 7;
    {
        CArchive ar(&file, CArchive::load);
        back.Serialize(ar);
    }
    EXPECT_EQ(0u, back.m_dwFlags);
    EXPECT_TRUE(back.m_bmpDisabled.IsEmpty());
    EXPECT_TRUE(back.m_bmpHover.IsEmpty());
    EXPECT_EQ(Argb(icon.m_bmpNormal, 3, 2), Argb(back.m_bmpNormal, 3, 2));

    // a given pressed image travels with its bit
    ASSERT_TRUE(Make32(icon.m_bmpPressed, 4, 4, [](int, int) { return 0xFF00FF00u; }));
    icon.m_dwFlags = CExtCmdIcon::__EXT_ICON_PERSISTENT_BITMAP_PRESSED;
    CMemFile file2;
    {
        CArchive ar(&file2, CArchive::store);
        icon.Serialize(ar);
        ar.Close();
    }
    EXPECT_EQ(nMainOnly + 4 + 14 + 40 + 64, file2.GetLength());
    file2.SeekToBegin();
    {
        CArchive ar(&file2, CArchive::load);
        back.Serialize(ar);
    }
    EXPECT_EQ((DWORD)CExtCmdIcon::__EXT_ICON_PERSISTENT_BITMAP_PRESSED, back.m_dwFlags);
    EXPECT_EQ(0xFF00FF00u, Argb(back.GetBitmap(3, PM()), 1, 1));
}

TEST_F(CmdIconTest, Painting)
{
    CExtCmdIcon icon;
    MakeIcon(icon);
    DibCanvas canvas(10, 10, RGB(0, 0, 200));
    icon.Paint(PM(), canvas.Dc(), 2, 2, -1, -1);
    EXPECT_EQ(RGB(255, 255, 255), canvas.Pixel(2, 2));
    EXPECT_EQ(icon.m_bmpNormal.GetPixelColor(3, 3), canvas.Pixel(5, 5));
    EXPECT_EQ(RGB(0, 0, 200), canvas.Pixel(6, 6));
    canvas.Fill(RGB(0, 0, 200));
    icon.Paint(PM(), canvas.Dc(), 2, 2, 0, -1);
    icon.PaintShadowed(PM(), canvas.Dc(), RGB(255, 0, 0), 2, 2, 0, -1);
    icon.PaintMonoEffect(PM(), canvas.Dc(), RGB(255, 0, 0), 2, 2, -1, 0);
    icon.PaintTinted(PM(), canvas.Dc(), RGB(255, 0, 0), 2, 2, 0, 0);
    RECT all = {0, 0, 10, 10};
    EXPECT_EQ(100, canvas.Count(RGB(0, 0, 200), all));
    // a rectangle form of the same
    RECT rc = {1, 1, 5, 5};
    icon.PaintRect(PM(), canvas.Dc(), rc);
    EXPECT_EQ(RGB(255, 255, 255), canvas.Pixel(1, 1));

    // the mono effect: 0x7F7F7F whatever the colour, with the pixels' own alpha
    canvas.Fill(RGB(0, 0, 0));
    icon.PaintMonoEffect(PM(), canvas.Dc(), RGB(0, 255, 0), 0, 0, -1, -1);
    for (int y = 0; y < 4; y++)
        for (int x = 0; x < 4; x++)
            EXPECT_EQ(RGB(127, 127, 127), canvas.Pixel(x, y)) << x << "," << y;

    // tinted with a grey: red, green and blue come out equal
    canvas.Fill(RGB(0, 0, 0));
    icon.PaintTinted(PM(), canvas.Dc(), RGB(90, 90, 90), 0, 0, -1, -1);
    for (int x = 0; x < 4; x++) {
        COLORREF p = canvas.Pixel(x, 2);
        EXPECT_EQ(GetRValue(p), GetGValue(p)) << x;
        EXPECT_EQ(GetGValue(p), GetBValue(p)) << x;
    }

    // shadowed: two layers, the back one a pixel lower and to the right
    CExtCmdIcon big;
    ASSERT_TRUE(Make32(big.m_bmpNormal, 16, 16, [](int, int) { return 0xFF000000u; }));
    DibCanvas c2(20, 20, RGB(0, 0, 255));
    big.PaintShadowed(PM(), c2.Dc(), RGB(255, 0, 0), 1, 1, 16, 16);
    RECT drawn = {1, 1, 18, 18};
    EXPECT_EQ(0, c2.Count(RGB(0, 0, 255), drawn) - 2);  // only the two cut-off corners stay
    EXPECT_EQ(RGB(0, 0, 255), c2.Pixel(17, 1));
    EXPECT_EQ(RGB(0, 0, 255), c2.Pixel(1, 17));
    EXPECT_NE(c2.Pixel(1, 1), c2.Pixel(17, 17));  // front and back differ in lightness
    EXPECT_EQ(RGB(0, 0, 255), c2.Pixel(18, 18));
    COLORREF front = c2.Pixel(5, 5);
    EXPECT_GT(GetRValue(front), GetGValue(front));  // reddish: the tint's hue
}

TEST_F(CmdIconTest, ScalingAndAssignments)
{
    CExtCmdIcon icon;
    MakeIcon(icon);
    CExtCmdIcon scaled;
    EXPECT_TRUE(scaled.AssignScaled(icon, CSize(8, 8)));
    EXPECT_EQ(CSize(8, 8), scaled.GetSize());
    EXPECT_EQ(Argb(icon.m_bmpNormal, 1, 1), Argb(scaled.m_bmpNormal, 2, 3));
    EXPECT_FALSE(scaled.AssignScaled(icon, CSize(0, 16)));
    EXPECT_EQ(CSize(8, 8), scaled.GetSize());  // unchanged
    CExtCmdIcon empty;
    EXPECT_FALSE(scaled.AssignScaled(empty, CSize(4, 4)));
    EXPECT_FALSE(empty.Scale(CSize(4, 4)));
    EXPECT_TRUE(scaled.Scale(CSize(8, 8)));

    // from an HBITMAP with a transparent colour
    CExtBitmap src;
    ASSERT_TRUE(Make24(src, 3, 1, [](int x, int) { return x == 1 ? RGB(255, 0, 255) : RGB(1, 2, 3); }));
    HBITMAP hBmp = src.CreateHBITMAP(false);
    icon.AssignFromHBITMAP(hBmp, RGB(255, 0, 255), NULL, true);
    EXPECT_EQ(0x00u, Argb(icon.m_bmpNormal, 1, 0) >> 24);
    EXPECT_EQ(0xFF010203u, Argb(icon.m_bmpNormal, 2, 0));
    EXPECT_NE(0u, GetObjectType(hBmp));  // copied, not taken
    icon.AssignFromHBITMAP(hBmp, COLORREF(-1L), NULL, false);
    EXPECT_EQ(0xFFFF00FFu, Argb(icon.m_bmpNormal, 1, 0));
    EXPECT_EQ(0u, GetObjectType(hBmp));  // taken and deleted

    // out as an HICON and back in
    HICON hIcon = icon.ExtractHICON(false, RGB(1, 2, 3));
    ASSERT_TRUE(hIcon != NULL);
    CExtCmdIcon fromIcon;
    fromIcon.AssignFromHICON(hIcon, true);
    EXPECT_EQ(CSize(3, 1), fromIcon.GetSize());
    EXPECT_EQ(0xFFFF00FFu, Argb(fromIcon.m_bmpNormal, 1, 0));
    EXPECT_EQ(0u, Argb(fromIcon.m_bmpNormal, 0, 0) >> 24);
    fromIcon.AssignFromHICON(hIcon, false);  // the icon is taken
    EXPECT_FALSE(DestroyIcon(hIcon));
    EXPECT_TRUE(empty.ExtractHICON() == NULL);
    HBITMAP hOut = NULL;
    COLORREF key = 0;
    EXPECT_FALSE(empty.ExportWithColorKey(hOut, key));
    EXPECT_TRUE(fromIcon.ExportWithColorKey(hOut, key));
    DeleteObject(hOut);
}

TEST_F(CmdIconTest, StandardIcons)
{
    CExtCmdIcon icon;
    EXPECT_FALSE(icon.CreateCheckMarkIcon(PM(), RGB(0, 0, 0), COLORREF(-1L), 0, 16));
    // a magenta mark gets a light green background
    ASSERT_TRUE(icon.CreateCheckMarkIcon(PM(), RGB(255, 0, 255), COLORREF(-1L), 16, 12));
    EXPECT_EQ(1, m_theme.marks);
    EXPECT_EQ(5, m_theme.markX);
    EXPECT_EQ(3, m_theme.markY);
    EXPECT_EQ(CSize(16, 12), icon.GetSize());
    BYTE a = 1;
    EXPECT_EQ(RGB(128, 255, 128), icon.m_bmpNormal.GetPixelColor(0, 0, &a));
    EXPECT_EQ(0, a);
    EXPECT_EQ(RGB(255, 0, 255), icon.m_bmpNormal.GetPixelColor(5, 3, &a));
    EXPECT_EQ(255, a);
    // the theme's mark colour when none is given
    m_theme.color1010 = RGB(7, 8, 9);
    ASSERT_TRUE(icon.CreateRadioDotIcon(PM()));
    EXPECT_EQ(RGB(7, 8, 9), m_theme.markColor);
    EXPECT_EQ(RGB(7, 8, 9), icon.m_bmpNormal.GetPixelColor(5, 5));
    // an empty icon: every pixel transparent
    ASSERT_TRUE(icon.CreateEmptyIcon(PM(), 5, 6));
    EXPECT_EQ(CSize(5, 6), icon.GetSize());
    for (int y = 0; y < 6; y++)
        for (int x = 0; x < 5; x++)
            EXPECT_EQ(0u, Argb(icon.m_bmpNormal, x, y) >> 24);
    EXPECT_FALSE(icon.CreateEmptyIcon(PM(), 5, 0));
    // without the theme engine there is nobody to draw the marks
    CExtCmdIcon::stat_SetThemeHooks(NULL);
    EXPECT_FALSE(icon.CreateCheckMarkIcon(PM()));
}
