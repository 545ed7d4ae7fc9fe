// The Luna colour schemes: detection from the visual style, which theme uses which
// scheme, and the Office 2003 and Studio 2005 colour maps for the blue, olive and
// silver variants and without visual styles.
#include <gtest/gtest.h>
#include "theme_test_support.h"
#include "toolkit/core/bitmap.h"

#include <map>

using namespace themetest;

namespace {

void ExpectMap(CExtPaintManager* pPM, const std::map<int, COLORREF>& expected, const char* sCase)
{
    for (const auto& e : expected)
        EXPECT_EQ(e.second, pPM->LookupColor(e.first)) << sCase << ", logical colour " << e.first;
}

const char* SchemeName(int n)
{
    static const char* names[] = {"classic", "blue", "olive", "silver"};
    return names[n];
}

class LunaTest : public ::testing::Test
{
protected:
    void SetUp() override { m_depth = new ScreenDepthScope(32); }
    void TearDown() override { delete m_depth; }
    ScreenDepthScope* m_depth = nullptr;
};

}  // namespace

TEST_F(LunaTest, DetectionReadsTheVariantAndTheSevenTaskbandColours)
{
    for (int nScheme = 0; nScheme <= 3; nScheme++)
    {
        LunaScope luna(nScheme, RUNTIME_CLASS(CExtPaintManagerOffice2003));
        EXPECT_EQ(nScheme, g_CurrentPaintManager.m_nLunaColorScheme) << SchemeName(nScheme);
        EXPECT_EQ(nScheme != 0, g_CurrentPaintManager.AreTaskbandColorsRead()) << SchemeName(nScheme);
        if (nScheme != 0)
        {
            const TaskbandColors tb = TaskbandOf(nScheme);
            for (int i = 0; i < 7; i++)
                EXPECT_EQ(tb.clr[i], g_CurrentPaintManager.m_clrTaskband[i]) << i;
            EXPECT_EQ(L"TASKBAND", themetest::Fake().sLastOpenList);
            EXPECT_EQ(::GetDesktopWindow(), themetest::Fake().hLastOpenWnd);
            EXPECT_EQ((HTHEME)NULL, g_CurrentPaintManager.m_UxTheme.GetOpenTheme());
        }
    }
}

TEST_F(LunaTest, OtherStylesAndFailedColourReadsGiveNoLunaColours)
{
    {
        LunaScope luna(1, RUNTIME_CLASS(CExtPaintManagerOffice2003), 4);
        EXPECT_EQ(1, g_CurrentPaintManager.m_nLunaColorScheme);
        EXPECT_FALSE(g_CurrentPaintManager.AreTaskbandColorsRead());
        EXPECT_FALSE(luna.PM()->UsesLunaColors());
        EXPECT_EQ(RGB(255, 255, 255), luna.PM()->LookupColor(3010));  // system-colour path
    }
    themetest::Fake() = themetest::FakeUxState();
    {
        themetest::FakeUxTheme fake;
        themetest::Fake().sFileName = L"C:\\WINDOWS\\Resources\\Themes\\Royale\\Royale.msstyles";
        g_CurrentPaintManager.DetectLunaColorScheme();
        EXPECT_EQ(0, g_CurrentPaintManager.m_nLunaColorScheme);
        themetest::Fake().sFileName = L"C:\\x\\luna.msstyles";
        themetest::Fake().sColorName = L"Plum";
        g_CurrentPaintManager.DetectLunaColorScheme();
        EXPECT_EQ(0, g_CurrentPaintManager.m_nLunaColorScheme);
    }
    g_CurrentPaintManager.DetectLunaColorScheme();
}

TEST_F(LunaTest, WhichThemesUseWhichScheme)
{
    struct Case
    {
        int nScheme;
        bool bXP, bOffice, bStudio;
    } cases[] = {{0, false, false, false}, {1, true, true, true}, {2, true, true, false},
                 {3, true, true, true}};
    for (const Case& c : cases)
    {
        LunaScope luna(c.nScheme, RUNTIME_CLASS(CExtPaintManager));
        CExtPaintManagerXP xp;
        CExtPaintManagerOffice2003 office;
        CExtPaintManagerStudio2005 studio;
        EXPECT_FALSE(luna.PM()->UsesLunaColors()) << SchemeName(c.nScheme);
        EXPECT_EQ(c.bXP, xp.UsesLunaColors()) << SchemeName(c.nScheme);
        EXPECT_EQ(c.bOffice, office.UsesLunaColors()) << SchemeName(c.nScheme);
        EXPECT_EQ(c.bStudio, studio.UsesLunaColors()) << SchemeName(c.nScheme);
        EXPECT_EQ(c.nScheme, studio.GetLunaColorScheme());
    }
}

TEST_F(LunaTest, Office2003LunaMapsForEachScheme)
{
    const COLORREF perScheme[][4] = {
        // id, blue, olive, silver
        {3015, 0xFFEFE3, 0xEDFFFF, 0xFFF9F9}, {3016, 0xFCE1CA, 0xA7DBCE, 0xECE2E1},
        {3017, 0xE4AD87, 0x92C7B8, 0xB99D9F}, {3018, 0xF6DDCB, 0xD1E6E6, 0xE2D7D7},
        {3019, 0xF8C4A1, 0x8FC8BA, 0xCAB9B8}, {3020, 0xDCA179, 0x78B4A4, 0x9E7E80},
        {2007, 0x962D00, 0x5E8D75, 0x947C7C}, {1012, 0xFEECDD, 0xE7F2F3, 0xF4EEEE},
        {1013, 0xC97A4A, 0x98C6BE, 0xC3B0B1}, {1014, 0x862D00, 0x466B5A, 0x795B5C},
        {1015, 0x862D00, 0x466B5A, 0x795B5C}, {1016, 0x862D00, 0x466B5A, 0x795B5C},
        {1017, 0x862D00, 0x466B5A, 0x795B5C}, {1018, 0xF9DBC4, 0xAEDFD2, 0xDECFCF},
        {1021, 0xF9DBC4, 0xAEDFD2, 0xDECFCF}, {1019, 0xE08F65, 0x80B0A1, 0xBFA8A9},
        {1020, 0xE08F65, 0x80B0A1, 0xBFA8A9}};
    for (int nScheme = 1; nScheme <= 3; nScheme++)
    {
        LunaScope luna(nScheme, RUNTIME_CLASS(CExtPaintManagerOffice2003));
        CExtPaintManagerOffice2003* pPM = static_cast<CExtPaintManagerOffice2003*>(luna.PM());
        const char* sCase = SchemeName(nScheme);
        COLORREF L1, L2, g1 = 0, g2 = 0;
        OfficeBaseColors(nScheme, L1, L2);
        ASSERT_TRUE(pPM->GetLunaBaseColors(&g1, &g2)) << sCase;
        EXPECT_EQ(L1, g1) << sCase;
        EXPECT_EQ(L2, g2) << sCase;
        EXPECT_TRUE(pPM->GetLunaBaseColors(NULL, NULL));
        EXPECT_EQ(A(L1, 0, -0.6, 0.5), pPM->GetLunaDerivedColor()) << sCase;
        const COLORREF shared = A(L1, 0, -0.25, 0);
        std::map<int, COLORREF> expected = {
            {1000, A(L1, 0, 0.2, 0)},
            {1001, A(L2, 0.02, 0.6, 0.45)},
            {1002, shared}, {1005, shared}, {1009, shared}, {2008, shared},
            {1010, ::GetSysColor(8)}, {1011, ::GetSysColor(8)},
            {2006, ::GetSysColor(18)},
            {2002, Scale(L1, 857, 857, 857)},
            {2011, Scale(L1, 857, 857, 857)},
            {2000, A(L1, 0, 0.2, 0)},
            {2001, A(Lift(A(L1, 0, 0.95, -0.05)), 0, 0.06, 0.05)},
            {2003, A(L2, 0, -0.3, 0.45)},
            {2004, A(A(A(L1, 0, 0.2, 0), 0, -0.25, 0.1), 0, -0.5, 0)},
            {2005, Scale(L1, 999, 995, 995)},
            {2009, A(L1, 0, 0.5, 0)},
            {3000, nScheme == 3 ? A(L1, 0, 0.845, 0.1) : A(L1, 0, 0.43, 0)},
            {3001, nScheme == 3 ? A(L1, 0, 0.45, 0.1) : A(L1, 0.02, 0.07, 0)},
            {3002, A(L1, 0, 0.95, 0)}, {3003, A(L1, 0, -0.6, 0)}, {3004, A(L1, 0, -0.1, 0)},
            {3005, A(L1, 0, -0.6, 0)}, {3006, A(L2, 0, 0.85, 0)}, {3007, A(L2, 0, -0.05, 0)},
            {3008, A(L2, 0, 0.3, 0)}, {3009, A(L2, 0, -0.3, 0)}, {3010, A(L1, 0, 0.98, 0)},
            {3011, A(L1, 0, -0.45, 0)}, {3012, A(L1, 0, 0.97, 0)}, {3013, A(L1, 0, -0.97, 0)},
            {3021, A(L2, 0.05, 0.75, 0)}, {3022, A(L2, -0.05, -0.02, 0)},
            {3023, A(L2, 0.02, 0.4, 0)}, {3024, A(L2, -0.07, -0.31, 0)},
            {3025, A(L2, -0.07, -0.31, 0)}, {3026, A(L2, 0.02, 0.4, 0)},
            {3027, A(L1, 0.1, -0.55, 0)}, {3028, A(L1, 0.02, -0.23, -0.25)},
            {3029, A(L1, 0.05, -0.6, 0)}, {3030, A(L1, 0, 0.45, 0)}, {3031, A(L1, 0, 0, 0)},
            {3032, A(L1, 0, 0.55, 0.2)}, {3033, A(L1, 0, -0.13, -0.15)},
            {3034, perScheme[0][nScheme]}, {3035, perScheme[2][nScheme]},
            // The colour table's entries written in place.
            {15, L1}, {22, A(L1, 0, 0.45, 0.1)}, {20, A(L1, 0, 0.75, 0)},
            {16, A(L1, 0, -0.45, 0.1)}, {21, A(L1, 0, -0.75, 0)},
            {3014, A(L1, 0, -0.45, 0.1)}, {2010, L1}};
        for (const auto& row : perScheme)
            expected[(int)row[0]] = row[nScheme];
        ExpectMap(pPM, expected, sCase);
        EXPECT_EQ(3021, pPM->m_nIdxClrBtnHoverLeft) << sCase;
        EXPECT_EQ(3026, pPM->m_nIdxClrBtnHovPresRight) << sCase;
        EXPECT_EQ(3005, pPM->m_nIdxClrTbBorder) << sCase;
        EXPECT_EQ(3015, pPM->m_nIdxClrMlaNormLeft) << sCase;
        // Brushes and GetSysColor are left alone.
        EXPECT_EQ(::GetSysColorBrush(15), pPM->LookupBrush(15)) << sCase;
        // The auxiliary brushes follow the Luna face and highlight, the system ones not.
        LOGBRUSH lb;
        ::GetObjectA(pPM->GetAuxBrush(0).GetSafeHandle(), sizeof(lb), &lb);
        const COLORREF hi = A(L1, 0, 0.75, 0);
        EXPECT_EQ(RGB(GetRValue(L1) + (GetRValue(hi) - GetRValue(L1)) / 2,
                      GetGValue(L1) + (GetGValue(hi) - GetGValue(L1)) / 2,
                      GetBValue(L1) + (GetBValue(hi) - GetBValue(L1)) / 2),
                  lb.lbColor)
            << sCase;
        const COLORREF F = ::GetSysColor(15), H = ::GetSysColor(20);
        ::GetObjectA(pPM->GetAuxBrush(1).GetSafeHandle(), sizeof(lb), &lb);
        EXPECT_EQ(RGB(GetRValue(F) + (GetRValue(H) - GetRValue(F)) / 2,
                      GetGValue(F) + (GetGValue(H) - GetGValue(F)) / 2,
                      GetBValue(F) + (GetBValue(H) - GetBValue(F)) / 2),
                  lb.lbColor)
            << sCase;
    }
}

TEST_F(LunaTest, Office2003WithoutVisualStylesDerivesFromSystemColours)
{
    LunaScope luna(0, RUNTIME_CLASS(CExtPaintManagerOffice2003));
    CExtPaintManagerOffice2003* pPM = static_cast<CExtPaintManagerOffice2003*>(luna.PM());
    auto P = [&](int n) { return ::GetSysColor(n); };
    const COLORREF c2001 = pPM->LookupColor(2001), c2000 = pPM->LookupColor(2000),
                   c2003 = pPM->LookupColor(2003), c1001 = pPM->LookupColor(1001);
    const COLORREF c3017 = A(c2000, 0, -0.04, 0);
    std::map<int, COLORREF> expected = {
        {3000, Mix(P(15), P(5), 222)}, {3001, P(15)}, {3010, RGB(255, 255, 255)},
        {3011, A(P(5), 0, -0.36, -0.8)}, {3003, A(P(16), 0, 0.2, 0)}, {3002, P(5)},
        {3004, A(P(16), 0, 0.7, 0.1)}, {3005, A(P(16), 0, -0.05, 0)},
        {3006, A(c2003, 0, 0.3, 0)}, {3007, A(c2003, 0, 0.3, 0)},
        {3008, A(c2003, 0, 0.6, 0)}, {3009, A(c2003, 0, 0.6, 0)}, {3012, P(5)},
        {3013, P(18)}, {3014, P(16)}, {3015, c2001}, {3016, A(c2000, 0, 0.4, 0)},
        {3017, c3017}, {3018, Mix(P(5), c2000, 500)}, {3019, A(c3017, 0, 0.3, 0)},
        {3020, A(c3017, 0, -0.04, 0)}, {3021, c1001}, {3024, c1001}, {3025, c2003},
        {3026, c2003}, {3027, P(16)}, {3028, P(22)}, {3029, P(16)}, {3030, P(20)},
        {3031, P(22)}, {3032, P(20)}, {3033, P(22)}, {3034, c2001},
        {3035, Mix(P(5), P(15), 550)}, {1012, Mix(P(15), P(5), 50)}, {1013, P(15)},
        {1014, P(8)}, {1017, P(8)}, {1018, Mix(P(15), P(5), 39)},
        {1019, Mix(P(15), P(5), 70)}, {1020, Mix(P(15), P(5), 70)},
        {1021, Mix(P(15), P(5), 39)}, {15, P(15)}, {16, P(16)}};
    ExpectMap(pPM, expected, "classic");
    EXPECT_EQ(-1, pPM->m_nIdxClrBtnHoverLeft);
    EXPECT_EQ(-1, pPM->m_nIdxClrTbBorder);
    EXPECT_EQ(COLORREF(-1), pPM->GetLunaDerivedColor());
    EXPECT_FALSE(pPM->GetLunaBaseColors(NULL, NULL));
}

TEST_F(LunaTest, Office2003AtEightBitsAddsOnlyItsShadowId)
{
    ScreenDepthScope depth(8);
    for (int nScheme : {0, 1})
    {
        LunaScope xp(nScheme, RUNTIME_CLASS(CExtPaintManagerXP));
        const int nXpSize = xp.PM()->GetColorTableSize();
        themetest::InstallTheme(RUNTIME_CLASS(CExtPaintManagerOffice2003));
        CExtPaintManager* pPM = g_CurrentPaintManager.m_pPM;
        EXPECT_EQ(nXpSize + 1, pPM->GetColorTableSize()) << SchemeName(nScheme);
        EXPECT_EQ(::GetSysColor(16), pPM->LookupColor(3014)) << SchemeName(nScheme);
        EXPECT_EQ(::GetSysColor(15), pPM->LookupColor(3010)) << SchemeName(nScheme);
    }
}

TEST_F(LunaTest, Studio2005BlueScheme)
{
    LunaScope luna(1, RUNTIME_CLASS(CExtPaintManagerStudio2005));
    CExtPaintManagerStudio2005* pPM = static_cast<CExtPaintManagerStudio2005*>(luna.PM());
    const COLORREF L1 = 0xD2E1E1, L2 = 0xC56A31;
    COLORREF g1 = 0, g2 = 0;
    ASSERT_TRUE(pPM->GetLunaBaseColors(&g1, &g2));
    EXPECT_EQ(L1, g1);
    EXPECT_EQ(L2, g2);
    const COLORREF e16 = A(L1, 0, -0.3, -0.5), P5 = ::GetSysColor(5), P8 = ::GetSysColor(8);
    const COLORREF shared = Lift(A(L1, 0, 0.95, -0.05));
    std::map<int, COLORREF> expected = {
        {1000, L1}, {2000, L1}, {2009, L1}, {15, L1}, {2004, L2},
        {1001, A(L2, 0, 0.7, 0)}, {1002, shared}, {1009, shared}, {2002, Scale(L1, 857, 857, 857)},
        {2008, shared}, {2006, ::GetSysColor(18)}, {2010, L1}, {2011, Scale(L1, 857, 857, 857)},
        {2001, shared}, {2003, A(L2, 0, 0.5, 0)}, {2005, Scale(L1, 999, 995, 995)},
        {3000, A(L1, 0, 0.8, 0)}, {3001, A(L1, 0, 0.15, 0)}, {3002, A(L1, 0, 0.95, 0)},
        {3003, A(L1, 0, -0.2, 0)}, {3004, A(L1, 0, 0.6, 0)}, {3005, A(L1, 0, -0.4, -0.4)},
        {3006, A(L2, 0, 0.7, 0)}, {3007, A(L2, 0, 0.7, 0)}, {3008, A(L2, 0, 0.5, 0)},
        {3009, A(L2, 0, 0.5, 0)}, {3010, A(L1, 0, 0.98, 0)}, {3011, A(L1, 0, -0.4, 0)},
        {3012, A(L1, 0, 0.97, 0)}, {3013, A(L1, 0, -0.97, 0)}, {3014, e16},
        {3015, 0xF9FCFC}, {3016, 0xECF4F6}, {3017, 0xA0BABA}, {3018, 0xF1F5F5},
        {3019, 0xD1DEDE}, {3020, 0x7FA5A5}, {2007, 0x7A868A}, {3021, A(L2, 0, 0.7, 0)},
        {3022, A(L2, 0, 0.7, 0)}, {3023, A(L2, 0, 0.5, 0)}, {3026, A(L2, 0, 0.5, 0)},
        {3027, A(L1, 0.1, -0.55, 0)}, {3033, A(L1, 0, -0.13, -0.15)}, {3034, 0xF9FCFC},
        {3035, 0xA0BABA}, {22, A(L1, 0, 0.1, 0)}, {20, A(L1, 0, 0.95, 0)}, {16, e16},
        {21, A(L1, 0, -0.7, -0.5)}, {4000, 0xBAC7CC}, {4001, 0xED803B}, {4002, 0xC56A31},
        {1012, Mix(L1, P5, 50)}, {1013, Mix(e16, P5, 60)}, {1014, P8}, {1015, P8},
        {1016, P8}, {1017, P8}, {1018, Mix(L1, P5, 39)}, {1021, Mix(L1, P5, 39)},
        {1019, Mix(e16, P5, 60)}, {1020, Mix(e16, P5, 60)}};
    ExpectMap(pPM, expected, "blue");
    EXPECT_NE(COLORREF(0xE08F65), pPM->LookupColor(1019));
}

TEST_F(LunaTest, Studio2005OliveAndSilverSchemes)
{
    {
        LunaScope luna(2, RUNTIME_CLASS(CExtPaintManagerStudio2005));
        CExtPaintManager* pPM = luna.PM();
        EXPECT_FALSE(pPM->UsesLunaColors());
        // The Office 2003 map took its system-colour path...
        EXPECT_EQ(RGB(255, 255, 255), pPM->LookupColor(3010));
        EXPECT_EQ(pPM->LookupColor(2001), pPM->LookupColor(3015));
        EXPECT_EQ(::GetSysColor(15), pPM->LookupColor(15));
        // ...yet the caption ids take the olive values.
        EXPECT_EQ(COLORREF(0xBAC7CC), pPM->LookupColor(4000));
        EXPECT_EQ(COLORREF(0x92C3B6), pPM->LookupColor(4001));
        EXPECT_EQ(COLORREF(0x75A091), pPM->LookupColor(4002));
        const COLORREF P5 = ::GetSysColor(5);
        EXPECT_EQ(Mix(::GetSysColor(16), P5, 60), pPM->LookupColor(1019));
        EXPECT_EQ(Mix(::GetSysColor(15), P5, 50), pPM->LookupColor(1012));
    }
    {
        LunaScope luna(3, RUNTIME_CLASS(CExtPaintManagerStudio2005));
        CExtPaintManager* pPM = luna.PM();
        COLORREF L1, L2;
        OfficeBaseColors(3, L1, L2);
        EXPECT_TRUE(pPM->UsesLunaColors());
        EXPECT_EQ(COLORREF(0xFFF9F9), pPM->LookupColor(3015));  // the Office 2003 value stays
        EXPECT_EQ(A(L1, 0, 0.845, 0.1), pPM->LookupColor(3000));
        EXPECT_EQ(L1, pPM->LookupColor(15));
        EXPECT_EQ(COLORREF(0xF5F0F0), pPM->LookupColor(4000));
        EXPECT_EQ(COLORREF(0xDDD4D3), pPM->LookupColor(4001));
        EXPECT_EQ(COLORREF(0xBFA5A6), pPM->LookupColor(4002));
        EXPECT_EQ(Mix(A(L1, 0, -0.45, 0.1), ::GetSysColor(5), 60), pPM->LookupColor(1020));
    }
}

TEST_F(LunaTest, Studio2005WithoutVisualStylesTakesCaptionColours)
{
    LunaScope luna(0, RUNTIME_CLASS(CExtPaintManagerStudio2005));
    CExtPaintManager* pPM = luna.PM();
    EXPECT_EQ(::GetSysColor(COLOR_INACTIVECAPTION), pPM->LookupColor(4000));
    EXPECT_EQ(::GetSysColor(COLOR_ACTIVECAPTION), pPM->LookupColor(4001));
    EXPECT_EQ(::GetSysColor(COLOR_ACTIVECAPTION), pPM->LookupColor(4002));
}

TEST_F(LunaTest, ItemColoursAndDisabledIconsFollowTheScheme)
{
    struct Case
    {
        int nScheme;
        COLORREF hl12, rest2, disabledStudio;
        double alphaStudio;
    } cases[] = {{0, 0x800000, COLORREF(-2), COLORREF(-3), -0.5},
                 {1, 0x800000, 0x9A3500, RGB(0, 0, 128), -0.7},
                 {2, 0x385D3F, 0x6B7760, RGB(164, 165, 144), -0.7},
                 {3, 0x6F4B4B, 0x927476, RGB(0, 0, 128), -0.7}};
    for (const Case& c : cases)
    {
        LunaScope luna(c.nScheme, RUNTIME_CLASS(CExtPaintManagerStudio2005));
        CExtPaintManager* pPM = luna.PM();
        const char* sCase = SchemeName(c.nScheme);
        COLORREF o1, o2, o3, o4, o5;
        pPM->QueryItemColors(false, true, o1, o2, o3, o4, o5);
        EXPECT_EQ(c.hl12, o1) << sCase;
        EXPECT_EQ(c.hl12, o2) << sCase;
        EXPECT_EQ(c.nScheme == 0 ? COLORREF(0xF4E9E9) : COLORREF(0xEDF9FF), o3) << sCase;
        EXPECT_EQ(c.nScheme == 0 ? COLORREF(0xD9B3B3) : COLORREF(0xC2EEFF), o4) << sCase;
        EXPECT_EQ(c.nScheme == 0 ? COLORREF(0x800000) : COLORREF(0), o5) << sCase;
        pPM->QueryItemColors(false, false, o1, o2, o3, o4, o5);
        EXPECT_EQ(pPM->LookupColor(c.nScheme ? 5 : 15), o1) << sCase;
        EXPECT_EQ(c.nScheme ? c.rest2 : pPM->LookupColor(16), o2) << sCase;
        EXPECT_EQ(pPM->LookupColor(18), o5) << sCase;

        const COLORREF expectDisabled =
            c.nScheme == 0 ? pPM->LookupColor(15) : c.disabledStudio;
        EXPECT_EQ(expectDisabled, pPM->GetDisabledIconColor()) << sCase;
        EXPECT_DOUBLE_EQ(c.alphaStudio, pPM->GetDisabledIconAlpha()) << sCase;

        CExtPaintManagerOffice2003 office;
        EXPECT_DOUBLE_EQ(-0.5, office.GetDisabledIconAlpha()) << sCase;
        CExtPaintManagerXP xp;
        EXPECT_EQ(COLORREF(-1), xp.GetDisabledIconColor()) << sCase;
        EXPECT_DOUBLE_EQ(0.0, xp.GetDisabledIconAlpha()) << sCase;
    }
}

TEST_F(LunaTest, PanelColoursOfOffice2003UseTheHighlightWithAScheme)
{
    for (int nScheme : {0, 1})
    {
        LunaScope luna(nScheme, RUNTIME_CLASS(CExtPaintManagerOffice2003));
        CExtPaintManager* pPM = luna.PM();
        COLORREF o1, o2, o3, o4;
        pPM->QueryPanelColors(false, 0, o1, o2, o3, o4);
        EXPECT_EQ(pPM->LookupColor(16), o1);
        EXPECT_EQ(pPM->LookupColor(22), o3);
        EXPECT_EQ(pPM->LookupColor(nScheme ? 20 : 22), o2);
        EXPECT_EQ(pPM->LookupColor(18), o4);
        pPM->QueryPanelColors(true, 0, o1, o2, o3, o4);
        EXPECT_EQ(pPM->LookupColor(5), o2);
        EXPECT_EQ(pPM->LookupColor(5), o3);
    }
}

TEST_F(LunaTest, SwitchingTheVariantTakesEffectAtTheNextThemeChange)
{
    LunaScope luna(1, RUNTIME_CLASS(CExtPaintManagerOffice2003));
    CExtPaintManager* pPM = luna.PM();
    COLORREF L1blue, L2blue, L1silver, L2silver;
    OfficeBaseColors(1, L1blue, L2blue);
    OfficeBaseColors(3, L1silver, L2silver);
    ASSERT_EQ(COLORREF(0xFFEFE3), pPM->LookupColor(3015));
    ASSERT_EQ(L1blue, pPM->LookupColor(15));
    const int nSize = pPM->GetColorTableSize();

    // The user picks the silver variant: nothing changes until the theme-change message.
    themetest::Fake().sColorName = L"Metallic";
    themetest::Fake().taskband = themetest::SilverTaskband();
    EXPECT_EQ(1, pPM->GetLunaColorScheme());
    g_CurrentPaintManager.OnThemeChanged(NULL, 0, 0);
    EXPECT_EQ(3, pPM->GetLunaColorScheme());
    EXPECT_EQ(COLORREF(0xFFF9F9), pPM->LookupColor(3015));
    EXPECT_EQ(L1silver, pPM->LookupColor(15));
    EXPECT_EQ(A(L1silver, 0, -0.45, 0.1), pPM->LookupColor(16));
    EXPECT_EQ(nSize, pPM->GetColorTableSize());

    // Back to the classic style: the entries written in place are the system's again.
    themetest::Fake().bAppThemed = false;
    g_CurrentPaintManager.OnThemeChanged(NULL, 0, 0);
    EXPECT_EQ(0, pPM->GetLunaColorScheme());
    EXPECT_FALSE(g_CurrentPaintManager.AreTaskbandColorsRead());
    for (int i : {15, 16, 20, 21, 22})
        EXPECT_EQ(::GetSysColor(i), pPM->LookupColor(i)) << "colour table entry " << i;
    EXPECT_EQ(RGB(255, 255, 255), pPM->LookupColor(3010));
}
