// The nineteen fonts: faces, weights, escapements, the Marlett font, the preferred
// face of the resource manager and the rotated faces of older systems.
#include <gtest/gtest.h>
#include "theme_test_support.h"
#include "toolkit/core/resource_manager.h"

#include <string>
#include <vector>

namespace {

LOGFONTA FontOf(CExtPaintManager* pPM, int nIndex)
{
    LOGFONTA lf;
    ::memset(&lf, 0, sizeof(lf));
    CFont* pFont = pPM->GetFontByIndex(nIndex);
    EXPECT_NE((HGDIOBJ)NULL, pFont->GetSafeHandle()) << "font " << nIndex;
    ::GetObjectA(pFont->GetSafeHandle(), sizeof(lf), &lf);
    return lf;
}

// The face the font mapper really gives for a font of the paint manager.
std::string FaceSelected(CExtPaintManager* pPM, int nIndex)
{
    char szFace[LF_FACESIZE] = "";
    HDC hDC = ::GetDC(NULL);
    HGDIOBJ hOld = ::SelectObject(hDC, pPM->GetFontByIndex(nIndex)->GetSafeHandle());
    ::GetTextFaceA(hDC, LF_FACESIZE, szFace);
    ::SelectObject(hDC, hOld);
    ::ReleaseDC(NULL, hDC);
    return szFace;
}

NONCLIENTMETRICSA Metrics()
{
    NONCLIENTMETRICSA ncm;
    ::memset(&ncm, 0, sizeof(ncm));
    ncm.cbSize = 340;
    ::SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, 340, &ncm, 0);
    return ncm;
}

int CALLBACK CollectFace(const LOGFONTA* pLF, const TEXTMETRICA*, DWORD, LPARAM lParam)
{
    reinterpret_cast<std::vector<std::string>*>(lParam)->push_back(pLF->lfFaceName);
    return 1;
}

class FontsTest : public ::testing::Test
{
protected:
    void SetUp() override { m_pPM = themetest::InstallTheme(RUNTIME_CLASS(CExtPaintManagerXP)); }
    CExtPaintManager* m_pPM = nullptr;
};

}  // namespace

TEST_F(FontsTest, BaseFontsFollowTheMenuAndSmallCaptionFonts)
{
    const NONCLIENTMETRICSA ncm = Metrics();
    // On NT 5 and later the default GUI font takes the fallback face, which the test
    // prefix has installed.
    ASSERT_NE(0, g_CurrentPaintManager.m_nOsFlags2 & 0x04);
    ASSERT_TRUE(CExtPaintManager::IsFontFaceInstalled("Tahoma"));
    const std::string sMenuFace = "Tahoma";
    LOGFONTA lf0 = FontOf(m_pPM, 0);
    EXPECT_EQ(sMenuFace, lf0.lfFaceName);
    EXPECT_EQ(sMenuFace, FaceSelected(m_pPM, 0));
    EXPECT_EQ(sMenuFace, FaceSelected(m_pPM, 1));
    EXPECT_EQ(ncm.lfMenuFont.lfHeight, lf0.lfHeight);
    EXPECT_EQ(0, lf0.lfEscapement);
    LOGFONTA lf6 = FontOf(m_pPM, 6);
    EXPECT_STREQ(ncm.lfSmCaptionFont.lfFaceName, lf6.lfFaceName);
    EXPECT_EQ(ncm.lfSmCaptionFont.lfHeight, lf6.lfHeight);
    EXPECT_EQ(400, lf6.lfWeight);
    LOGFONTA lf3 = FontOf(m_pPM, 3);
    EXPECT_EQ(sMenuFace, lf3.lfFaceName);
    EXPECT_EQ(sMenuFace, FaceSelected(m_pPM, 3));
    EXPECT_EQ(900, lf3.lfWeight);
    EXPECT_EQ(900, FontOf(m_pPM, 9).lfWeight);
}

TEST_F(FontsTest, RotatedFontsAndCopies)
{
    struct Case
    {
        int nFont;
        int nEscapement;
        int nWeightSource;  // the font whose weight and face it shares
    } cases[] = {{1, 2700, 0},  {2, 900, 6},   {4, 2700, 3},  {5, 900, 3},   {7, 2700, 6},
                 {8, 900, 6},   {10, 2700, 9}, {11, 900, 9},  {12, 0, 6},    {13, 2700, 6},
                 {14, 900, 6},  {15, 0, 9},    {16, 2700, 9}, {17, 900, 9}};
    for (const Case& c : cases)
    {
        LOGFONTA lf = FontOf(m_pPM, c.nFont);
        LOGFONTA src = FontOf(m_pPM, c.nWeightSource);
        EXPECT_EQ(c.nEscapement, lf.lfEscapement) << "font " << c.nFont;
        EXPECT_EQ(src.lfOrientation, lf.lfOrientation) << "font " << c.nFont;
        EXPECT_EQ(src.lfWeight, lf.lfWeight) << "font " << c.nFont;
        EXPECT_STREQ(src.lfFaceName, lf.lfFaceName) << "font " << c.nFont;
        EXPECT_EQ(src.lfHeight, lf.lfHeight) << "font " << c.nFont;
    }
}

TEST_F(FontsTest, MarlettFontIsTheMenuCheckHeightLessOne)
{
    ASSERT_TRUE(CExtPaintManager::IsFontFaceInstalled("Marlett"));
    LOGFONTA lf = FontOf(m_pPM, 18);
    EXPECT_STREQ("Marlett", lf.lfFaceName);
    EXPECT_EQ("Marlett", FaceSelected(m_pPM, 18));  // the real face, not a substitute
    EXPECT_EQ(SYMBOL_CHARSET, lf.lfCharSet);
    EXPECT_EQ(0, lf.lfWeight);
    EXPECT_EQ(::GetSystemMetrics(SM_CYMENUCHECK) - 1, lf.lfHeight);
}

TEST_F(FontsTest, ThePreferredFaceOfTheResourceManagerWins)
{
    // Any installed family other than the one the fonts have now.
    const std::string sCurrent = FontOf(m_pPM, 0).lfFaceName;
    std::vector<std::string> faces;
    HDC hDC = ::GetDC(NULL);
    ::EnumFontFamiliesA(hDC, NULL, (FONTENUMPROCA)CollectFace, reinterpret_cast<LPARAM>(&faces));
    ::ReleaseDC(NULL, hDC);
    std::string sFace;
    for (const std::string& f : faces)
        if (f != sCurrent && f[0] != '@')
        {
            sFace = f;
            break;
        }
    if (sFace.empty())
        GTEST_SKIP() << "only one font family installed";
    ASSERT_TRUE(CExtPaintManager::IsFontFaceInstalled(sFace.c_str()));
    g_CurrentResourceManager->SetFontFaceName(sFace.c_str());
    g_CurrentPaintManager.OnSettingChange(NULL, 0, NULL);
    EXPECT_EQ(sFace, FontOf(m_pPM, 0).lfFaceName);
    EXPECT_EQ(sFace, FontOf(m_pPM, 1).lfFaceName);
    EXPECT_EQ(sFace, FontOf(m_pPM, 3).lfFaceName);
    // A face that is not installed is ignored.
    g_CurrentResourceManager->SetFontFaceName("No Such Face 12345");
    g_CurrentPaintManager.OnSettingChange(NULL, 0, NULL);
    EXPECT_EQ(sCurrent, FontOf(m_pPM, 0).lfFaceName);
    g_CurrentResourceManager->SetFontFaceName(NULL);
    g_CurrentPaintManager.OnSettingChange(NULL, 0, NULL);
    EXPECT_EQ(sCurrent, FontOf(m_pPM, 0).lfFaceName);
}

TEST_F(FontsTest, OlderSystemsRotateInArial)
{
    const BYTE nSaved = g_CurrentPaintManager.m_nOsFlags1;
    g_CurrentPaintManager.m_nOsFlags1 |= 0x02;  // as on Windows 98
    g_CurrentPaintManager.OnSettingChange(NULL, 0, NULL);
    for (int n : {1, 2, 4, 5, 7, 8, 10, 11, 13, 14, 16, 17})
        EXPECT_STREQ("Arial", FontOf(m_pPM, n).lfFaceName) << "font " << n;
    EXPECT_EQ(FontOf(m_pPM, 0).lfHeight, FontOf(m_pPM, 1).lfHeight);
    EXPECT_STRNE("Arial", FontOf(m_pPM, 0).lfFaceName);
    g_CurrentPaintManager.m_nOsFlags1 = nSaved;
    g_CurrentPaintManager.OnSettingChange(NULL, 0, NULL);
}

TEST_F(FontsTest, TextHeightsAreMeasuredWithTheFonts)
{
    HDC hDC = ::GetDC(NULL);
    TEXTMETRICA tmNormal, tmBold;
    HGDIOBJ hOld = ::SelectObject(hDC, m_pPM->m_FontNormal.GetSafeHandle());
    ::GetTextMetricsA(hDC, &tmNormal);
    ::SelectObject(hDC, m_pPM->m_FontBold.GetSafeHandle());
    ::GetTextMetricsA(hDC, &tmBold);
    ::SelectObject(hDC, hOld);
    ::ReleaseDC(NULL, hDC);
    SIZE sz = m_pPM->GetFontTextHeights(true);
    EXPECT_EQ(tmBold.tmHeight + 2, sz.cx);
    EXPECT_EQ(tmNormal.tmHeight + 2, sz.cy);
    EXPECT_EQ(tmNormal.tmHeight + 2, m_pPM->GetFontTextHeights(false).cx);
    EXPECT_EQ(tmNormal.tmHeight + 2, m_pPM->GetMenuTextHeight());
}
