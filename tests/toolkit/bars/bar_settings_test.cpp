// The bar and tab settings: -1 until the application sets them, the current theme's
// default meanwhile, and the tab strip style that the tab setting 1 turns on.
#include <gtest/gtest.h>
#include "toolkit/bars/dyn_tab_control_bar.h"
#include "toolkit/theme/paint_manager.h"

namespace {

class SettingsTheme : public CExtPaintManagerXP
{
public:
    int QueryBarSettingDefault() override { return 7; }
    int QueryTabSettingDefault() override { return 1; }
};

}  // namespace

TEST(BarSettings, ThemeDefaultsUntilTheApplicationSetsThem)
{
    EXPECT_EQ(-1, CExtControlBar::g_nBarSetting);
    EXPECT_EQ(-1, CExtDynTabControlBar::g_nTabSetting);
    ASSERT_TRUE(g_CurrentPaintManager.InstallPaintManager(new SettingsTheme));
    EXPECT_EQ(7, CExtControlBar::GetBarSetting());
    EXPECT_EQ(1, CExtDynTabControlBar::GetTabSetting());
    EXPECT_EQ(DWORD(0x200003), CExtDynTabControlBar::AdjustTabWndStyle(0x3));

    CExtControlBar::g_nBarSetting = 0;
    CExtDynTabControlBar::g_nTabSetting = 0;
    EXPECT_EQ(0, CExtControlBar::GetBarSetting());
    EXPECT_EQ(0, CExtDynTabControlBar::GetTabSetting());
    EXPECT_EQ(DWORD(0x3), CExtDynTabControlBar::AdjustTabWndStyle(0x3));
    CExtControlBar::g_nBarSetting = -1;
    CExtDynTabControlBar::g_nTabSetting = -1;
    g_CurrentPaintManager.InstallPaintManagerByClass(RUNTIME_CLASS(CExtPaintManagerXP));
}

TEST(BarSettings, TheTabbedBarIsAControlBar)
{
    CExtDynTabControlBar bar;
    EXPECT_TRUE(bar.IsKindOf(RUNTIME_CLASS(CExtControlBar)));
    EXPECT_STREQ("CExtDynTabControlBar", bar.GetRuntimeClass()->m_lpszClassName);
}
