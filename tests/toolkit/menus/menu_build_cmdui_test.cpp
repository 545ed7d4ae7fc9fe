// Building menus from a menu resource and exporting them back to menu handles, and the
// command-UI update of the items through the framework's update routing.
#include <gtest/gtest.h>

#include "framework/framework.h"
#include "tests/toolkit/menus/menus_test_ids.h"
#include "toolkit/core/cmd_manager.h"
#include "toolkit/menus/popup_menu_wnd.h"

#include <string>

namespace {

const char* kProfile = "menu-build-test";

class Receiver : public CWnd
{
public:
    int m_nSysUpdates = 0;

protected:
    afx_msg void OnCmd() {}
    afx_msg void OnUpdateOpen(CCmdUI* pCmdUI) { pCmdUI->Enable(FALSE); }
    afx_msg void OnUpdateSave(CCmdUI* pCmdUI) { pCmdUI->SetCheck(2); }
    afx_msg void OnUpdateExit(CCmdUI* pCmdUI)
    {
        pCmdUI->SetRadio(TRUE);
        pCmdUI->SetText("&Quit");
    }
    afx_msg void OnUpdateSys(CCmdUI*) { m_nSysUpdates++; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(Receiver, CWnd)
    ON_COMMAND(ID_MT_OPEN, OnCmd)
    ON_COMMAND(ID_MT_SAVE, OnCmd)
    ON_COMMAND(ID_MT_EXIT, OnCmd)
    ON_COMMAND(SC_CLOSE, OnCmd)
    ON_UPDATE_COMMAND_UI(ID_MT_OPEN, OnUpdateOpen)
    ON_UPDATE_COMMAND_UI(ID_MT_SAVE, OnUpdateSave)
    ON_UPDATE_COMMAND_UI(ID_MT_EXIT, OnUpdateExit)
    ON_UPDATE_COMMAND_UI(SC_CLOSE, OnUpdateSys)
END_MESSAGE_MAP()

std::string MenuText(HMENU hMenu, int nPos)
{
    char sBuf[256] = {0};
    ::GetMenuStringA(hMenu, (UINT)nPos, sBuf, sizeof(sBuf), MF_BYPOSITION);
    return sBuf;
}

class MenuBuildTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_recv.CreateEx(0, AfxRegisterWndClass(0), _T(""), WS_POPUP, 0, 0, 10, 10, NULL, 0));
        m_hWndOther = ::CreateWindowA("STATIC", "", WS_POPUP, 0, 0, 10, 10, NULL, NULL, NULL, NULL);
        ASSERT_TRUE(g_CommandManager->ProfileSetup(kProfile, m_recv.GetSafeHwnd()));
    }
    void TearDown() override
    {
        g_CommandManager->ProfileDestroy(kProfile, true);
        m_recv.DestroyWindow();
        ::DestroyWindow(m_hWndOther);
    }
    Receiver m_recv;
    HWND m_hWndOther = NULL;
};

}  // namespace

TEST_F(MenuBuildTest, ResourceMenuWithProfileTexts)
{
    CExtPopupMenuWnd menu;
    ASSERT_TRUE(menu.LoadMenu(m_recv.GetSafeHwnd(), IDR_MENUS_TEST_MENU));
    EXPECT_TRUE(menu.IsTopLevel());
    EXPECT_EQ(menu.GetCmdReceiverHWND(), m_recv.GetSafeHwnd());
    // The doubled separator and the recent-file placeholder are gone.
    const UINT nIDs[] = {ID_MT_OPEN, 0, ID_MT_SAVE, ID_MT_GRAY, ID_MT_CHECKED, 0xFFFFFFFF, 0, ID_MT_EXIT};
    ASSERT_EQ(menu.ItemGetCount(), 8);
    for (int i = 0; i < 8; i++)
        EXPECT_EQ(menu.ItemGetInfo(i).m_nCmdID, nIDs[i]) << "item " << i;
    EXPECT_STREQ((LPCTSTR)menu.ItemGetText(0), "&Open");
    EXPECT_STREQ((LPCTSTR)menu.ItemGetAccelText(0), "Ctrl+O");
    EXPECT_TRUE(menu.ItemDefaultGet(0));
    EXPECT_FALSE(menu.ItemDefaultGet(2));
    // The profile registered every command of the menu.
    EXPECT_NE(g_CommandManager->CmdGetPtr(kProfile, ID_MT_PASTE), nullptr);
    EXPECT_NE(menu.ItemGetInfo(2).GetCmdItem(), nullptr);
    // Without the profile, the resource's states are not copied.
    EXPECT_TRUE(menu.ItemEnabledGet(3));
    EXPECT_FALSE(menu.ItemGetInfo(4).GetCheck());
    CExtPopupMenuWnd* pMore = menu.ItemGetPopup(5);
    ASSERT_NE(pMore, nullptr);
    EXPECT_STREQ((LPCTSTR)menu.ItemGetText(5), "&More");
    EXPECT_EQ(pMore->GetParentMenu(), &menu);
    EXPECT_EQ(pMore->GetCmdReceiverHWND(), m_recv.GetSafeHwnd());
    ASSERT_EQ(pMore->ItemGetCount(), 1);
    EXPECT_STREQ((LPCTSTR)pMore->ItemGetAccelText(0), "Ctrl+V");

    // Loading replaces what the menu held; a missing resource fails.
    ASSERT_TRUE(menu.LoadMenu(m_recv.GetSafeHwnd(), IDR_MENUS_TEST_MENU));
    EXPECT_EQ(menu.ItemGetCount(), 8);
    EXPECT_FALSE(menu.LoadMenu(m_recv.GetSafeHwnd(), 7699));
    EXPECT_FALSE(menu.LoadMenu(m_recv.GetSafeHwnd(), (CMenu*)NULL, true, true, false));
}

TEST_F(MenuBuildTest, WithoutProfileTheResourceStatesAreKept)
{
    CExtPopupMenuWnd menu;
    ASSERT_TRUE(menu.LoadMenu(m_hWndOther, IDR_MENUS_TEST_MENU, true, true));
    ASSERT_EQ(menu.ItemGetCount(), 8);
    EXPECT_TRUE(menu.ItemGetInfo(0).IsCustom());
    EXPECT_STREQ((LPCTSTR)menu.ItemGetText(0), "&Open");
    EXPECT_STREQ((LPCTSTR)menu.ItemGetAccelText(0), "Ctrl+O");
    EXPECT_FALSE(menu.ItemEnabledGet(3)) << "grayed in the resource";
    EXPECT_TRUE(menu.ItemGetInfo(4).GetCheck()) << "checked in the resource";
    EXPECT_TRUE(menu.ItemEnabledGet(2));
    EXPECT_EQ(g_CommandManager->ProfileNameFromWnd(m_hWndOther), nullptr) << "no profile was asked for or made";
}

TEST_F(MenuBuildTest, ExportGivesAPlainMenuHandle)
{
    CExtPopupMenuWnd menu;
    ASSERT_TRUE(menu.LoadMenu(m_hWndOther, IDR_MENUS_TEST_MENU, true, true));
    HMENU hDeep = menu.ExportToHMENU(true);
    ASSERT_NE(hDeep, nullptr);
    ASSERT_EQ(::GetMenuItemCount(hDeep), 8);
    EXPECT_EQ(MenuText(hDeep, 0), "&Open\tCtrl+O");
    EXPECT_EQ(::GetMenuItemID(hDeep, 0), (UINT)ID_MT_OPEN);
    EXPECT_EQ(::GetMenuState(hDeep, 1, MF_BYPOSITION) & MF_SEPARATOR, (UINT)MF_SEPARATOR);
    EXPECT_EQ(::GetMenuState(hDeep, 3, MF_BYPOSITION) & MF_GRAYED, 0u) << "states are not exported";
    EXPECT_EQ(::GetMenuState(hDeep, 4, MF_BYPOSITION) & MF_CHECKED, 0u);
    HMENU hSub = ::GetSubMenu(hDeep, 5);
    ASSERT_NE(hSub, nullptr);
    EXPECT_EQ(MenuText(hDeep, 5), "&More");
    ASSERT_EQ(::GetMenuItemCount(hSub), 1);
    EXPECT_EQ(MenuText(hSub, 0), "&Paste\tCtrl+V");
    ::DestroyMenu(hDeep);

    HMENU hFlat = menu.ExportToHMENU(false);
    ASSERT_NE(hFlat, nullptr);
    ASSERT_NE(::GetSubMenu(hFlat, 5), nullptr);
    EXPECT_EQ(::GetMenuItemCount(::GetSubMenu(hFlat, 5)), 0) << "an empty popup stands for the sub-menu";
    ::DestroyMenu(hFlat);
}

TEST_F(MenuBuildTest, CommandUiUpdateGoesThroughTheReceiversHandlers)
{
    CExtPopupMenuWnd menu;
    ASSERT_TRUE(menu.LoadMenu(m_recv.GetSafeHwnd(), IDR_MENUS_TEST_MENU));
    ASSERT_NE(g_CommandManager->CmdAllocPtr(kProfile, SC_CLOSE), nullptr);
    ASSERT_TRUE(menu.ItemInsert(SC_CLOSE));
    g_CommandManager->CmdGetPtr(kProfile, ID_MT_SAVE)->m_sAccelText = "F3";

    // A top-level menu tracked without command-UI update keeps its states.
    menu.SetTrackFlags(CExtPopupMenuWnd::TMF_NO_CMD_UI);
    menu.UpdateItemsCmdUI();
    EXPECT_TRUE(menu.ItemEnabledGet(0));
    EXPECT_STREQ((LPCTSTR)menu.ItemGetAccelText(2), "");
    menu.SetTrackFlags(0);

    menu.UpdateItemsCmdUI();
    EXPECT_FALSE(menu.ItemEnabledGet(0)) << "its handler disabled it";
    EXPECT_TRUE(menu.ItemEnabledGet(2));
    EXPECT_TRUE(menu.ItemGetInfo(2).GetCheck()) << "SetCheck(2) is a plain check";
    EXPECT_FALSE(menu.ItemGetInfo(2).GetIndeterminate());
    EXPECT_STREQ((LPCTSTR)menu.ItemGetAccelText(2), "F3") << "refreshed from the profile";
    EXPECT_FALSE(menu.ItemEnabledGet(3)) << "no handler at all";
    EXPECT_TRUE(menu.ItemGetInfo(7).GetRadio());
    EXPECT_STREQ((LPCTSTR)menu.ItemGetText(7), "&Quit");
    EXPECT_FALSE(menu.ItemGetPopup(5)->ItemEnabledGet(0)) << "the sub-menu was updated too";
    EXPECT_TRUE(menu.ItemEnabledGet(5)) << "a sub-menu item without command stays enabled";
    EXPECT_EQ(m_recv.m_nSysUpdates, 0) << "system commands never reach the application's handlers";

    // An item enabled regardless stays enabled whatever the handler says.
    menu.ItemGetInfo(0).m_nStateFlags |= CExtPopupMenuWnd::MENUITEMDATA::__MIS_FORCE_ENABLED;
    menu.ItemGetInfo(0).Enable(true);
    menu.UpdateItemsCmdUI();
    EXPECT_TRUE(menu.ItemEnabledGet(0));
    EXPECT_TRUE((menu.ItemGetInfo(0).m_nStateFlags & CExtPopupMenuWnd::MENUITEMDATA::__MIS_ENABLED) != 0);
}

TEST_F(MenuBuildTest, UpdaterLeavesSubMenuItemsAlone)
{
    CExtPopupMenuWnd menu;
    ASSERT_TRUE(menu.LoadMenu(m_recv.GetSafeHwnd(), IDR_MENUS_TEST_MENU));
    CExtPopupMenuWnd::CExtPopupMenuCmdUI cmdUI(m_recv.GetSafeHwnd(), &menu);
    EXPECT_EQ(cmdUI.m_nIndexMax, 8u);
    cmdUI.SelectItem(5);
    EXPECT_EQ(cmdUI.m_nIndex, 5u);
    cmdUI.SetText("changed");
    cmdUI.Enable(FALSE);
    cmdUI.SetCheck(1);
    EXPECT_STREQ((LPCTSTR)menu.ItemGetText(5), "&More");
    EXPECT_TRUE(menu.ItemEnabledGet(5));
    EXPECT_FALSE(menu.ItemGetInfo(5).GetCheck());
    cmdUI.SelectItem(2);
    EXPECT_EQ(cmdUI.m_nID, (UINT)ID_MT_SAVE);
    cmdUI.SetText("S&ave as");
    EXPECT_STREQ((LPCTSTR)menu.ItemGetText(2), "S&ave as");
    cmdUI.SetText(NULL);
    EXPECT_STREQ((LPCTSTR)menu.ItemGetText(2), "S&ave as");
}
