// Every logical colour id of every theme under every Luna variant (and the classic
// style), against a model of the colour tables written out id by id: the base and XP
// maps, the Office 2003 Luna and system-colour maps, the Studio 2005 maps, and the
// colour-table entries 15, 16, 20, 21 and 22 that the Luna paths overwrite.
#include <gtest/gtest.h>
#include "theme_test_support.h"
#include "toolkit/core/bitmap.h"

#include <map>
#include <string>

using namespace themetest;

namespace {

typedef std::map<int, COLORREF> ColorMap;

COLORREF Sys(int n) { return ::GetSysColor(n); }

// The colour-table entries that no Luna path touches keep the system colours.
void SystemEntries(ColorMap& m)
{
    for (int i : {15, 16, 20, 21, 22})
        m[i] = Sys(i);
}

ColorMap BaseModel()
{
    ColorMap m;
    for (const auto& e : g_arrBaseLogicalColors)
        m[e[0]] = Sys(e[1]);
    for (int id : {2001, 2003, 2005, 2007, 2009, 2011})
        m[id] = Sys(15);
    SystemEntries(m);
    return m;
}

ColorMap XpModel()
{
    const COLORREF W = Sys(5), F = Sys(15), S = Sys(16), D = Sys(21), T = Sys(18), L = Sys(13);
    const COLORREF A_ = Mix(W, F, 165), B = Mix(L, W, 30), E = Mix(F, W, 143),
                   G = Mix(S, W, 70), K = Mix(L, W, 50), N = Mix(F, S, 90);
    const COLORREF C = RGB((3 * GetRValue(S) + GetRValue(D)) * 250 / 1000,
                           (3 * GetGValue(S) + GetGValue(D)) * 250 / 1000,
                           (3 * GetBValue(S) + GetBValue(D)) * 250 / 1000);
    ColorMap m;
    m[1000] = A_;
    m[1001] = B;
    for (int id = 1002; id <= 1009; id++)
        m[id] = C;
    m[1010] = Sys(8);
    m[1011] = RGB(0, 0, 0);
    m[1012] = m[1013] = E;
    for (int id = 1014; id <= 1017; id++)
        m[id] = Sys(8);
    m[1018] = m[1020] = Sys(15);
    m[1019] = m[1021] = Sys(13);
    m[2000] = A_;
    m[2001] = E;
    m[2002] = G;
    m[2003] = K;
    m[2004] = L;
    m[2005] = N;
    m[2006] = Sys(14);
    m[2007] = Mix(T, S, 20);
    m[2008] = E;
    m[2009] = A_;
    m[2010] = Sys(15);
    m[2011] = G;
    SystemEntries(m);
    return m;
}

// Office 2003 without Luna colours: the XP map, then the 3000 ids and the menu ids.
ColorMap OfficeSystemModel()
{
    ColorMap m = XpModel();
    const COLORREF W = Sys(5), F = Sys(15), S = Sys(16);
    const COLORREF c2000 = m[2000], c2001 = m[2001], c2003 = m[2003], c1001 = m[1001];
    const COLORREF c3017 = A(c2000, 0, -0.04, 0);
    m[3000] = Mix(F, W, 222);
    m[3001] = F;
    m[3002] = W;
    m[3003] = A(S, 0, 0.2, 0);
    m[3004] = A(S, 0, 0.7, 0.1);
    m[3005] = A(S, 0, -0.05, 0);
    m[3006] = m[3007] = A(c2003, 0, 0.3, 0);
    m[3008] = m[3009] = A(c2003, 0, 0.6, 0);
    m[3010] = RGB(255, 255, 255);
    m[3011] = A(W, 0, -0.36, -0.8);
    m[3012] = W;
    m[3013] = Sys(18);
    m[3014] = S;
    m[3015] = c2001;
    m[3016] = A(c2000, 0, 0.4, 0);
    m[3017] = c3017;
    m[3018] = Mix(W, c2000, 500);
    m[3019] = A(c3017, 0, 0.3, 0);
    m[3020] = A(c3017, 0, -0.04, 0);
    for (int id = 3021; id <= 3024; id++)
        m[id] = c1001;
    m[3025] = m[3026] = c2003;
    m[3027] = m[3029] = S;
    m[3028] = m[3031] = m[3033] = Sys(22);
    m[3030] = m[3032] = Sys(20);
    m[3034] = c2001;
    m[3035] = Mix(W, F, 550);
    m[1012] = Mix(F, W, 50);
    m[1013] = F;
    for (int id = 1014; id <= 1017; id++)
        m[id] = Sys(8);
    m[1018] = m[1021] = Mix(F, W, 39);
    m[1019] = m[1020] = Mix(F, W, 70);
    return m;
}

// Office 2003 with Luna colours L1 and L2 of the given scheme (1 to 3).
ColorMap OfficeLunaModel(int nScheme, COLORREF L1, COLORREF L2)
{
    static const COLORREF perScheme[][4] = {
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
    ColorMap m;
    const COLORREF shared = A(L1, 0, -0.25, 0);
    m[1000] = A(L1, 0, 0.2, 0);
    m[1001] = A(L2, 0.02, 0.6, 0.45);
    for (int id = 1002; id <= 1009; id++)
        m[id] = shared;
    m[1010] = m[1011] = Sys(8);
    m[2000] = A(L1, 0, 0.2, 0);
    m[2001] = A(Lift(A(L1, 0, 0.95, -0.05)), 0, 0.06, 0.05);
    m[2002] = m[2011] = Scale(L1, 857, 857, 857);
    m[2003] = A(L2, 0, -0.3, 0.45);
    m[2004] = A(A(A(L1, 0, 0.2, 0), 0, -0.25, 0.1), 0, -0.5, 0);
    m[2005] = Scale(L1, 999, 995, 995);
    m[2006] = Sys(18);
    m[2008] = shared;
    m[2009] = A(L1, 0, 0.5, 0);
    m[2010] = L1;  // index 15, written in place
    m[3000] = nScheme == 3 ? A(L1, 0, 0.845, 0.1) : A(L1, 0, 0.43, 0);
    m[3001] = nScheme == 3 ? A(L1, 0, 0.45, 0.1) : A(L1, 0.02, 0.07, 0);
    m[3002] = A(L1, 0, 0.95, 0);
    m[3003] = A(L1, 0, -0.6, 0);
    m[3004] = A(L1, 0, -0.1, 0);
    m[3005] = A(L1, 0, -0.6, 0);
    m[3006] = A(L2, 0, 0.85, 0);
    m[3007] = A(L2, 0, -0.05, 0);
    m[3008] = A(L2, 0, 0.3, 0);
    m[3009] = A(L2, 0, -0.3, 0);
    m[3010] = A(L1, 0, 0.98, 0);
    m[3011] = A(L1, 0, -0.45, 0);
    m[3012] = A(L1, 0, 0.97, 0);
    m[3013] = A(L1, 0, -0.97, 0);
    m[3014] = A(L1, 0, -0.45, 0.1);  // index 16, written in place
    m[3021] = A(L2, 0.05, 0.75, 0);
    m[3022] = A(L2, -0.05, -0.02, 0);
    m[3023] = m[3026] = A(L2, 0.02, 0.4, 0);
    m[3024] = m[3025] = A(L2, -0.07, -0.31, 0);
    m[3027] = A(L1, 0.1, -0.55, 0);
    m[3028] = A(L1, 0.02, -0.23, -0.25);
    m[3029] = A(L1, 0.05, -0.6, 0);
    m[3030] = A(L1, 0, 0.45, 0);
    m[3031] = A(L1, 0, 0, 0);
    m[3032] = A(L1, 0, 0.55, 0.2);
    m[3033] = A(L1, 0, -0.13, -0.15);
    for (const auto& row : perScheme)
        m[(int)row[0]] = row[nScheme];
    m[3034] = m[3015];
    m[3035] = m[3017];
    m[15] = L1;
    m[22] = A(L1, 0, 0.45, 0.1);
    m[20] = A(L1, 0, 0.75, 0);
    m[16] = A(L1, 0, -0.45, 0.1);
    m[21] = A(L1, 0, -0.75, 0);
    return m;
}

// Studio 2005's last step: menu ids mixed from the colour table as it stands.
void StudioMenuIds(ColorMap& m)
{
    const COLORREF P15 = m[15], P16 = m[16], W = Sys(5);
    m[1012] = Mix(P15, W, 50);
    m[1013] = Mix(P16, W, 60);
    for (int id = 1014; id <= 1017; id++)
        m[id] = Sys(8);
    m[1018] = m[1021] = Mix(P15, W, 39);
    m[1019] = m[1020] = Mix(P16, W, 60);
}

ColorMap StudioModel(int nScheme)
{
    static const COLORREF captions[3][3] = {
        {0xBAC7CC, 0xBAC7CC, 0xF5F0F0}, {0xED803B, 0x92C3B6, 0xDDD4D3},
        {0xC56A31, 0x75A091, 0xBFA5A6}};
    ColorMap m;
    if (nScheme == 0)
    {
        m = OfficeSystemModel();
        m[4000] = Sys(COLOR_INACTIVECAPTION);
        m[4001] = m[4002] = Sys(COLOR_ACTIVECAPTION);
        StudioMenuIds(m);
        return m;
    }
    if (nScheme == 2)
        m = OfficeSystemModel();  // the olive variant is not used for the palette
    else if (nScheme == 3)
    {
        COLORREF L1, L2;
        OfficeBaseColors(3, L1, L2);
        m = OfficeLunaModel(3, L1, L2);
    }
    else
    {
        const COLORREF L1 = 0xD2E1E1, L2 = 0xC56A31;
        m = OfficeLunaModel(1, L1, L2);  // the Office 2003 map ran first with these
        const COLORREF shared = Lift(A(L1, 0, 0.95, -0.05));
        m[1000] = m[2000] = m[2009] = L1;
        m[1001] = A(L2, 0, 0.7, 0);
        for (int id = 1002; id <= 1009; id++)
            m[id] = shared;
        m[2001] = m[2008] = shared;
        m[2002] = m[2011] = Scale(L1, 857, 857, 857);
        m[2003] = A(L2, 0, 0.5, 0);
        m[2004] = L2;
        m[2005] = Scale(L1, 999, 995, 995);
        m[2006] = Sys(18);
        m[2010] = L1;
        m[3000] = A(L1, 0, 0.8, 0);
        m[3001] = A(L1, 0, 0.15, 0);
        m[3002] = A(L1, 0, 0.95, 0);
        m[3003] = A(L1, 0, -0.2, 0);
        m[3004] = A(L1, 0, 0.6, 0);
        m[3005] = A(L1, 0, -0.4, -0.4);
        m[3006] = m[3007] = m[3021] = m[3022] = A(L2, 0, 0.7, 0);
        m[3008] = m[3009] = A(L2, 0, 0.5, 0);
        for (int id = 3023; id <= 3026; id++)
            m[id] = A(L2, 0, 0.5, 0);
        m[3010] = A(L1, 0, 0.98, 0);
        m[3011] = A(L1, 0, -0.4, 0);
        m[3012] = A(L1, 0, 0.97, 0);
        m[3013] = A(L1, 0, -0.97, 0);
        m[3015] = m[3034] = 0xF9FCFC;
        m[3016] = 0xECF4F6;
        m[3017] = m[3035] = 0xA0BABA;
        m[3018] = 0xF1F5F5;
        m[3019] = 0xD1DEDE;
        m[3020] = 0x7FA5A5;
        m[2007] = 0x7A868A;
        m[15] = L1;
        m[22] = A(L1, 0, 0.1, 0);
        m[20] = A(L1, 0, 0.95, 0);
        m[16] = A(L1, 0, -0.3, -0.5);
        m[21] = A(L1, 0, -0.7, -0.5);
        m[3014] = m[16];  // index 16
    }
    for (int i = 0; i < 3; i++)
        m[4000 + i] = captions[i][nScheme - 1];
    StudioMenuIds(m);
    return m;
}

ColorMap Model(int nTheme, int nScheme)
{
    switch (nTheme)
    {
    case 0:
        return BaseModel();
    case 1:
        return XpModel();
    case 2:
        if (nScheme == 0)
            return OfficeSystemModel();
        {
            COLORREF L1, L2;
            OfficeBaseColors(nScheme, L1, L2);
            return OfficeLunaModel(nScheme, L1, L2);
        }
    default:
        return StudioModel(nScheme);
    }
}

}  // namespace

TEST(ColorModel, EveryLogicalIdOfEveryThemeUnderEveryScheme)
{
    ScreenDepthScope depth(32);
    CRuntimeClass* const themes[4] = {
        RUNTIME_CLASS(CExtPaintManager), RUNTIME_CLASS(CExtPaintManagerXP),
        RUNTIME_CLASS(CExtPaintManagerOffice2003), RUNTIME_CLASS(CExtPaintManagerStudio2005)};
    const char* const themeNames[4] = {"base", "XP", "Office 2003", "Studio 2005"};
    const char* const schemeNames[4] = {"classic", "blue", "olive", "silver"};
    for (int nTheme = 0; nTheme < 4; nTheme++)
        for (int nScheme = 0; nScheme <= 3; nScheme++)
        {
            LunaScope luna(nScheme, themes[nTheme]);
            CExtPaintManager* pPM = luna.PM();
            const std::string sCase =
                std::string(themeNames[nTheme]) + ", " + schemeNames[nScheme];
            ASSERT_EQ(nScheme, pPM->GetLunaColorScheme()) << sCase;
            const ColorMap expected = Model(nTheme, nScheme);
            std::map<int, bool> ids;
            for (int id = 1000; id <= 1021; id++)
                ids[id] = true;
            for (int id = 2000; id <= 2011; id++)
                ids[id] = true;
            if (nTheme >= 2)
                for (int id = 3000; id <= 3035; id++)
                    ids[id] = true;
            if (nTheme == 3)
                for (int id = 4000; id <= 4002; id++)
                    ids[id] = true;
            for (int i : {15, 16, 20, 21, 22})
                ids[i] = true;
            for (const auto& e : ids)
            {
                const auto it = expected.find(e.first);
                if (it == expected.end())
                {
                    ADD_FAILURE() << sCase << ": the model lacks id " << e.first;
                    continue;
                }
                EXPECT_EQ(it->second, pPM->LookupColor(e.first))
                    << sCase << ", logical colour " << e.first;
            }
            // Ids of the later themes fall back to button face where their map lacks them.
            if (nTheme < 2)
            {
                EXPECT_EQ(pPM->LookupColor(15), pPM->LookupColor(3015)) << sCase;
            }
            if (nTheme < 3)
            {
                EXPECT_EQ(pPM->LookupColor(15), pPM->LookupColor(4000)) << sCase;
            }
        }
}
