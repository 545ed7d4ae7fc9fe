// Colours and brushes of the base and XP themes: the logical-colour maps at high and
// low colour depth, the lookups and their fall-back, the auxiliary brushes and the
// colour table across re-synchronisations.
#include <gtest/gtest.h>
#include "theme_test_support.h"
#include "support/dib_canvas.h"
#include "toolkit/core/bitmap.h"

#include <map>

using themetest::g_arrBaseLogicalColors;
using themetest::InstallTheme;
using themetest::Mix;
using themetest::ScreenDepthScope;

namespace {

COLORREF Sys(int n) { return ::GetSysColor(n); }

COLORREF BrushColor(HBRUSH hBrush)
{
    LOGBRUSH lb;
    ::memset(&lb, 0, sizeof(lb));
    ::GetObjectA(hBrush, sizeof(lb), &lb);
    return lb.lbColor;
}

void ExpectMap(CExtPaintManager* pPM, const std::map<int, COLORREF>& expected)
{
    for (const auto& e : expected)
        EXPECT_EQ(e.second, pPM->LookupColor(e.first)) << "logical colour " << e.first;
}

class ColorsTest : public ::testing::Test
{
protected:
    void TearDown() override { InstallTheme(RUNTIME_CLASS(CExtPaintManagerXP)); }
};

}  // namespace

TEST_F(ColorsTest, BaseThemeMapsEveryIdToItsSystemColour)
{
    CExtPaintManager* pPM = InstallTheme(RUNTIME_CLASS(CExtPaintManager));
    for (const auto& e : g_arrBaseLogicalColors)
        EXPECT_EQ(Sys(e[1]), pPM->LookupColor(e[0])) << "logical colour " << e[0];
    for (int id : {2001, 2003, 2005, 2007, 2009, 2011, 1999, 3000, 4000})
        EXPECT_EQ(Sys(COLOR_BTNFACE), pPM->LookupColor(id)) << "unmapped id " << id;
    EXPECT_EQ(Sys(7), pPM->LookupColor(7));
    EXPECT_EQ(Sys(COLOR_BTNFACE), pPM->LookupColor(-3));
    EXPECT_EQ(Sys(COLOR_BTNFACE), pPM->LookupColor(999));
    EXPECT_EQ(pPM->LookupColor(1000), pPM->GetBackgroundColor());
    EXPECT_EQ(50, pPM->GetColorTableSize());
    EXPECT_EQ(32, pPM->m_nThemeValue);
}

TEST_F(ColorsTest, BrushLookupTakesIndicesOnly)
{
    CExtPaintManager* pPM = InstallTheme(RUNTIME_CLASS(CExtPaintManager));
    EXPECT_EQ(::GetSysColorBrush(3), pPM->LookupBrush(3));
    EXPECT_EQ(::GetSysColorBrush(COLOR_BTNFACE), pPM->LookupBrush(1000));
    EXPECT_EQ(::GetSysColorBrush(COLOR_BTNFACE), pPM->LookupBrush(-1));
    EXPECT_EQ(50, pPM->GetBrushTableSize());
}

TEST_F(ColorsTest, InstallColorOverwritesInsideAndAppendsOutside)
{
    CExtPaintManager* pPM = InstallTheme(RUNTIME_CLASS(CExtPaintManager));
    EXPECT_EQ(7, pPM->InstallColor(RGB(1, 2, 3), 7));
    EXPECT_EQ(RGB(1, 2, 3), pPM->LookupColor(7));
    EXPECT_EQ(50, pPM->InstallColor(RGB(4, 5, 6), -1));
    EXPECT_EQ(51, pPM->InstallColor(RGB(7, 8, 9), 1000));
    EXPECT_EQ(RGB(7, 8, 9), pPM->LookupColor(51));
}

TEST_F(ColorsTest, XpMapAtHighColour)
{
    ScreenDepthScope depth(32);
    CExtPaintManager* pPM = InstallTheme(RUNTIME_CLASS(CExtPaintManagerXP));
    const COLORREF W = Sys(5), F = Sys(15), H = Sys(20), S = Sys(16), D = Sys(21), T = Sys(18),
                   L = Sys(13);
    (void)H;
    const COLORREF A = Mix(W, F, 165), B = Mix(L, W, 30), E = Mix(F, W, 143), G = Mix(S, W, 70),
                   K = Mix(L, W, 50), N = Mix(F, S, 90);
    const COLORREF C = RGB((3 * GetRValue(S) + GetRValue(D)) * 250 / 1000,
                           (3 * GetGValue(S) + GetGValue(D)) * 250 / 1000,
                           (3 * GetBValue(S) + GetBValue(D)) * 250 / 1000);
    std::map<int, COLORREF> expected = {
        {1000, A},    {1001, B},    {2000, A},         {1002, C},    {1003, C},
        {1004, C},    {1005, C},    {1006, C},         {1007, C},    {1008, C},
        {1009, C},    {2002, G},    {2004, L},         {2006, Sys(14)}, {2008, E},
        {1010, Sys(8)}, {1011, RGB(0, 0, 0)}, {2010, Sys(15)}, {2011, G}, {2001, E},
        {2003, K},    {2005, N},    {2007, Mix(T, S, 20)}, {2009, A}, {1012, E},
        {1013, E},    {1014, Sys(8)}, {1015, Sys(8)},  {1016, Sys(8)}, {1017, Sys(8)},
        {1018, Sys(15)}, {1019, Sys(13)}, {1020, Sys(15)}, {1021, Sys(13)}};
    ExpectMap(pPM, expected);
    EXPECT_EQ(E, pPM->GetBackgroundColor());
    EXPECT_EQ(128, pPM->m_nThemeValue);
}

TEST_F(ColorsTest, XpMapAtEightBitsTakesPlainSystemColours)
{
    ScreenDepthScope depth(8);
    CExtPaintManager* pPM = InstallTheme(RUNTIME_CLASS(CExtPaintManagerXP));
    const COLORREF W = Sys(5), F = Sys(15), H = Sys(20), S = Sys(16), T = Sys(18);
    std::map<int, COLORREF> expected = {
        {1000, F}, {1001, F}, {2000, F}, {1002, S}, {1009, S},  {2002, S}, {2004, T},
        {2008, W}, {1011, H}, {2011, S}, {2001, W}, {2003, S}, {2005, S}, {2009, F},
        {1012, W}, {1013, W}, {2007, Mix(T, S, 20)}};
    ExpectMap(pPM, expected);
}

TEST_F(ColorsTest, ResynchronisingKeepsTheTableAtOneSetOfThemeColours)
{
    ScreenDepthScope depth(32);
    CExtPaintManager* pPM = InstallTheme(RUNTIME_CLASS(CExtPaintManagerXP));
    const int nSize = pPM->GetColorTableSize();
    const COLORREF clr2003 = pPM->LookupColor(2003);
    for (int i = 0; i < 3; i++)
        g_CurrentPaintManager.OnSysColorChange(NULL);
    EXPECT_EQ(nSize, pPM->GetColorTableSize());
    EXPECT_EQ(clr2003, pPM->LookupColor(2003));
    for (int i = 0; i < 5; i++)
        g_CurrentPaintManager.OnSettingChange(NULL, 0, NULL);
    EXPECT_EQ(nSize, pPM->GetColorTableSize());
}

TEST_F(ColorsTest, AuxiliaryBrushesAreStepsBetweenFaceHighlightAndShadow)
{
    ScreenDepthScope depth(32);
    CExtPaintManager* pPM = InstallTheme(RUNTIME_CLASS(CExtPaintManagerXP));
    auto half = [](COLORREF a, COLORREF b) {
        return RGB(GetRValue(a) + (GetRValue(b) - GetRValue(a)) / 2,
                   GetGValue(a) + (GetGValue(b) - GetGValue(a)) / 2,
                   GetBValue(a) + (GetBValue(b) - GetBValue(a)) / 2);
    };
    auto step = [](COLORREF a, COLORREF b, int k, int n) {
        return RGB(GetRValue(a) + ::MulDiv(GetRValue(b) - GetRValue(a), k, n),
                   GetGValue(a) + ::MulDiv(GetGValue(b) - GetGValue(a), k, n),
                   GetBValue(a) + ::MulDiv(GetBValue(b) - GetBValue(a), k, n));
    };
    const COLORREF F = Sys(15), H = Sys(20), S = Sys(16);
    const COLORREF expected[12] = {half(F, H),        half(F, H),        half(S, F),
                                   half(S, F),        step(F, H, 3, 5),  step(F, H, 3, 5),
                                   step(S, F, 2, 5),  step(S, F, 2, 5),  step(F, H, 4, 5),
                                   step(F, H, 4, 5),  step(S, F, 1, 5),  step(S, F, 1, 5)};
    for (int i = 0; i < 12; i++)
        EXPECT_EQ(expected[i], BrushColor((HBRUSH)pPM->GetAuxBrush(i).GetSafeHandle()))
            << "auxiliary brush " << i;
}

TEST_F(ColorsTest, AuxiliaryBrushesAtEightBitsArePatterns)
{
    ScreenDepthScope depth(8);
    CExtPaintManager* pPM = InstallTheme(RUNTIME_CLASS(CExtPaintManagerXP));
    const COLORREF F = Sys(15), H = Sys(20);
    for (int i = 0; i < 12; i++)
    {
        LOGBRUSH lb;
        ::GetObjectA(pPM->GetAuxBrush(i).GetSafeHandle(), sizeof(lb), &lb);
        EXPECT_EQ((UINT)BS_PATTERN, lb.lbStyle) << "auxiliary brush " << i;
    }
    // Brush 0 is a checkerboard of face and highlight; brush 4 keeps face only where
    // both coordinates are even.
    testsupport::DibCanvas canvas(8, 8);
    RECT rc = {0, 0, 8, 8};
    ::FillRect(canvas.Dc(), &rc, (HBRUSH)pPM->GetAuxBrush(0).GetSafeHandle());
    for (int y = 0; y < 4; y++)
        for (int x = 0; x < 4; x++)
            EXPECT_EQ(((x ^ y) & 1) ? H : F, canvas.Pixel(x, y)) << x << "," << y;
    ::FillRect(canvas.Dc(), &rc, (HBRUSH)pPM->GetAuxBrush(4).GetSafeHandle());
    for (int y = 0; y < 4; y++)
        for (int x = 0; x < 4; x++)
            EXPECT_EQ(((x | y) & 1) ? H : F, canvas.Pixel(x, y)) << x << "," << y;
}
