// What the bars hand to the popup menus: the button-menu flag that keeps a toolbar
// button's menu from being cancelled by a modifier release, and its cancelling.
#include <gtest/gtest.h>

#include "framework/framework.h"
#include "toolkit/bars/control_bar.h"
#include "toolkit/menus/popup_menu_wnd.h"

TEST(BarMenuServices, TheMenusSeeTheButtonMenuFlag)
{
    ASSERT_NE(g_PopupBarServices.pfnIsButtonMenuTracking, nullptr);
    CExtToolControlBar::g_bButtonMenuTracking = true;
    EXPECT_TRUE(g_PopupBarServices.IsButtonMenuTracking());

    // With no current popup, an Alt release cancels tracking unless a button menu tracks.
    CExtPopupMenuWnd* pMenu = new CExtPopupMenuWnd;
    ASSERT_TRUE(pMenu->CreatePopupMenu(NULL));
    g_PopupTrackingSite.SetInstance(pMenu);
    EXPECT_TRUE(g_PopupTrackingSite.OnKeyboardHookEvent(VK_MENU, 1 | 0xC0000000 | (1 << 29)));
    EXPECT_TRUE(CExtPopupMenuWnd::IsMenuTracking());

    g_PopupBarServices.CancelAllButtonMenuTracking();
    EXPECT_FALSE(CExtToolControlBar::g_bButtonMenuTracking);
    EXPECT_FALSE(g_PopupTrackingSite.OnKeyboardHookEvent(VK_MENU, 1 | 0xC0000000 | (1 << 29)));
    EXPECT_FALSE(CExtPopupMenuWnd::IsMenuTracking());
    EXPECT_EQ(g_PopupBarServices.GetDraggedBar(), nullptr);
}
