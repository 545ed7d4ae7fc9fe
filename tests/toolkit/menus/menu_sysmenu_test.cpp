// A window's system menu loaded into a popup menu: every item of the menu handle comes
// across (commands, separator, texts, default item), sub-menus of a hand-made menu keep
// their own trees, and loading again or removing items leaves no stale item behind.
#include <gtest/gtest.h>

#include "framework/framework.h"
#include "toolkit/core/cmd_manager.h"
#include "toolkit/menus/popup_menu_wnd.h"

#include <string>
#include <vector>

namespace {

const char* kProfile = "menu-sysmenu-test";

std::string MenuText(HMENU hMenu, int nPos)
{
    char sBuf[256] = {0};
    ::GetMenuStringA(hMenu, (UINT)nPos, sBuf, sizeof(sBuf), MF_BYPOSITION);
    return sBuf;
}

class MenuSysMenuTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_wnd.CreateEx(0, AfxRegisterWndClass(0), _T("System menu owner"),
                                   WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX |
                                       WS_MAXIMIZEBOX,
                                   40, 40, 300, 200, NULL, 0));
        ASSERT_TRUE(g_CommandManager->ProfileSetup(kProfile, m_wnd.GetSafeHwnd()));
    }
    void TearDown() override
    {
        g_CommandManager->ProfileDestroy(kProfile, true);
        m_wnd.DestroyWindow();
    }
    CWnd m_wnd;
};

}  // namespace

TEST_F(MenuSysMenuTest, SystemMenuLoadsIntoAPopupMenu)
{
    HMENU hSys = ::GetSystemMenu(m_wnd.GetSafeHwnd(), FALSE);
    ASSERT_NE(hSys, (HMENU)NULL);
    const int nCount = ::GetMenuItemCount(hSys);
    ASSERT_GT(nCount, 0);

    CExtPopupMenuWnd* pPopup = new CExtPopupMenuWnd;
    ASSERT_TRUE(pPopup->CreatePopupMenu(m_wnd.GetSafeHwnd()));
    CMenu menuSys;
    menuSys.Attach(hSys);
    bool bLoaded = pPopup->LoadMenu(m_wnd.GetSafeHwnd(), &menuSys, false, true, false);
    menuSys.Detach();
    ASSERT_TRUE(bLoaded);

    ASSERT_EQ(pPopup->ItemGetCount(), nCount);
    for (int i = 0; i < nCount; i++)
    {
        UINT nID = ::GetMenuItemID(hSys, i);
        SCOPED_TRACE(testing::Message() << "item " << i << " id 0x" << std::hex << nID);
        EXPECT_EQ(pPopup->ItemGetCmdID(i), nID);
        if (nID != 0)
        {
            std::string sText = MenuText(hSys, i);
            size_t nTab = sText.find('\t');
            EXPECT_STREQ((LPCTSTR)pPopup->ItemGetText(i), sText.substr(0, nTab).c_str());
        }
    }
    int nClose = pPopup->ItemFindPosForCmdID(SC_CLOSE);
    ASSERT_GE(nClose, 0);
    EXPECT_STREQ((LPCTSTR)pPopup->ItemGetText(nClose), "&Close");
    EXPECT_STREQ((LPCTSTR)pPopup->ItemGetAccelText(nClose), "Alt+F4");
    EXPECT_EQ(pPopup->ItemGetInfo(nClose).GetAccessKey(), 'C');
    EXPECT_NE(g_CommandManager->CmdGetPtr(kProfile, SC_CLOSE), nullptr) << "the profile learnt the system commands";

    // Loading again replaces the items instead of adding to them.
    menuSys.Attach(hSys);
    bLoaded = pPopup->LoadMenu(m_wnd.GetSafeHwnd(), &menuSys, false, true, false);
    menuSys.Detach();
    EXPECT_TRUE(bLoaded);
    EXPECT_EQ(pPopup->ItemGetCount(), nCount);
    delete pPopup;
}

// The framework's CWnd::GetSystemMenu hands out a temporary CMenu for the same handle
// the loader attaches to for its walk; both must come out intact.
TEST_F(MenuSysMenuTest, TemporaryMenuObjectOfTheSystemMenuLoads)
{
    CMenu* pSys = m_wnd.GetSystemMenu(FALSE);
    ASSERT_NE(pSys, nullptr);
    HMENU hSys = pSys->GetSafeHmenu();
    CExtPopupMenuWnd menu;
    ASSERT_TRUE(menu.CreatePopupMenu(m_wnd.GetSafeHwnd()));
    ASSERT_TRUE(menu.LoadMenu(m_wnd.GetSafeHwnd(), pSys, false, true, false));
    EXPECT_EQ(pSys->GetSafeHmenu(), hSys);
    EXPECT_TRUE(::IsMenu(hSys));
    EXPECT_EQ(menu.ItemGetCount(), ::GetMenuItemCount(hSys));
}

// Items are records held by value: inserting in front of a growing item array moves
// the records, and each must keep its own sub-menu and owner.
TEST_F(MenuSysMenuTest, ItemsMovedByInsertionsKeepTheirSubMenus)
{
    CExtPopupMenuWnd* pMenu = new CExtPopupMenuWnd;
    ASSERT_TRUE(pMenu->CreatePopupMenu(m_wnd.GetSafeHwnd()));
    std::vector<CExtPopupMenuWnd*> subs;
    for (int i = 0; i < 12; i++)
    {
        CExtPopupMenuWnd* pSub = new CExtPopupMenuWnd;
        pSub->ItemInsertCommand(0x7400 + i, -1, "Inner");
        ASSERT_TRUE(pMenu->ItemInsertSubMenu(pSub, 0, "Sub")) << "insertion " << i;
        ASSERT_TRUE(pMenu->ItemInsertCommand(0x7500 + i, 1, "Command")) << "insertion " << i;
        subs.push_back(pSub);
    }
    ASSERT_EQ(pMenu->ItemGetCount(), 24);
    for (int i = 0; i < 12; i++)
    {
        SCOPED_TRACE(testing::Message() << "sub-menu inserted " << i << "th");
        const int nPos = 2 * (11 - i);
        EXPECT_EQ(pMenu->ItemGetPopup(nPos), subs[i]);
        EXPECT_EQ(subs[i]->GetParentMenu(), pMenu);
        EXPECT_EQ(pMenu->ItemGetInfo(nPos).GetOwner(), pMenu);
        EXPECT_EQ(subs[i]->ItemGetCmdID(0), (UINT)(0x7400 + i));
        EXPECT_EQ(pMenu->ItemGetCmdID(nPos + 1), (UINT)(0x7500 + i));
    }
    EXPECT_TRUE(pMenu->ItemRemove(0));
    EXPECT_EQ(pMenu->ItemGetPopup(1), subs[10]);
    delete pMenu;
}
