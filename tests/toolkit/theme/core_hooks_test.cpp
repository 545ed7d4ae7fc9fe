// The resource manager's font takes its size and weight from the current theme's normal
// font and only its face from the resource manager.
#include <gtest/gtest.h>
#include "toolkit/theme/paint_manager.h"
#include "toolkit/core/resource_manager.h"

TEST(ThemeCoreHooks, ResourceManagerFontDerivesFromTheThemesNormalFont)
{
    ASSERT_TRUE(g_CurrentPaintManager.InstallPaintManager(new CExtPaintManagerXP));
    LOGFONT lfNormal;
    ASSERT_NE(0, g_CurrentPaintManager->m_FontNormal.GetLogFont(&lfNormal));

    CExtResourceManager* pRM = g_CurrentResourceManager.GetCurrent();
    ASSERT_TRUE(pRM != NULL);
    pRM->SetFontFaceName("Marlett");
    HFONT hFont = pRM->GetFont();
    ASSERT_TRUE(hFont != NULL);
    LOGFONT lf;
    ASSERT_NE(0, ::GetObject(hFont, sizeof(lf), &lf));
    EXPECT_STREQ("Marlett", lf.lfFaceName);
    EXPECT_EQ(lfNormal.lfHeight, lf.lfHeight);
    EXPECT_EQ(lfNormal.lfWeight, lf.lfWeight);
    pRM->SetFontFaceName(NULL);
}
