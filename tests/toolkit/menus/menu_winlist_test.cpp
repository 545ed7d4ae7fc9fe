// Items made at run time: the window list of an MDI frame and the application's recent
// files in place of the File menu's placeholder.
#include <gtest/gtest.h>

#include "framework/framework.h"
#include "support/message_pump.h"
#include "tests/toolkit/menus/menus_test_ids.h"
#include "toolkit/core/cmd_item.h"
#include "toolkit/core/cmd_manager.h"
#include "toolkit/menus/popup_menu_wnd.h"

#include <string>

using testsupport::PumpPending;

namespace {

class WindowListTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_pFrame = new CMDIFrameWnd;
        ASSERT_TRUE(m_pFrame->Create(NULL, "MDI", WS_OVERLAPPEDWINDOW, CRect(0, 0, 600, 400)));
        ASSERT_NE(m_pFrame->m_hWndMDIClient, (HWND)NULL);
        ASSERT_TRUE(g_CommandManager->ProfileSetup("winlist", m_pFrame->GetSafeHwnd()));
    }
    void TearDown() override
    {
        m_pFrame->DestroyWindow();
        PumpPending();
        g_CommandManager->ProfileDestroy("winlist", true);
    }
    CMDIChildWnd* NewChild(const char* sTitle)
    {
        CMDIChildWnd* pChild = new CMDIChildWnd;
        EXPECT_TRUE(pChild->Create(NULL, sTitle, WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW, CRect(0, 0, 200, 150),
                                   m_pFrame));
        return pChild;
    }
    CMDIFrameWnd* m_pFrame = NULL;
};

}  // namespace

TEST_F(WindowListTest, TwelveChildrenGiveNineItemsAndMoreWindows)
{
    CMDIChildWnd* children[12];
    for (int i = 0; i < 12; i++)
        children[i] = NewChild(("Doc " + std::to_string(i + 1)).c_str());
    children[1]->ShowWindow(SW_HIDE);  // keeps its id 0xFF01, takes no number
    m_pFrame->MDIActivate(children[4]);
    BOOL bMax = FALSE;
    ASSERT_EQ(m_pFrame->MDIGetActive(&bMax), children[4]);

    CExtPopupMenuWnd menu;
    ASSERT_TRUE(menu.CreatePopupMenu(m_pFrame->GetSafeHwnd()));
    menu.ItemInsertCommand(0x7D01, -1, "&Cascade");
    ASSERT_TRUE(menu.UpdateMdiWindowsMenu(m_pFrame));
    ASSERT_EQ(menu.ItemGetCount(), 13);
    EXPECT_TRUE(menu.ItemGetInfo(1).IsSeparator());
    struct Row
    {
        int nItem;
        UINT nID;
        const char* sText;
        bool bRadio;
    } rows[] = {
        {2, 0xFF00, "&1 Doc 1", false}, {3, 0xFF02, "&2 Doc 3", false}, {4, 0xFF03, "&3 Doc 4", false},
        {5, 0xFF04, "&4 Doc 5", true},  {10, 0xFF09, "&9 Doc 10", false},
    };
    for (const Row& r : rows)
    {
        EXPECT_EQ(menu.ItemGetCmdID(r.nItem), r.nID) << "item " << r.nItem;
        EXPECT_STREQ((LPCTSTR)menu.ItemGetText(r.nItem), r.sText) << "item " << r.nItem;
        EXPECT_EQ(menu.ItemGetInfo(r.nItem).GetRadio(), r.bRadio) << "item " << r.nItem;
        EXPECT_EQ(menu.ItemGetInfo(r.nItem).GetAccessKey(), r.sText[1]) << "item " << r.nItem;
    }
    EXPECT_TRUE(menu.ItemGetInfo(11).IsSeparator());
    EXPECT_EQ(menu.ItemGetCmdID(12), 0xFF09u);
    EXPECT_STREQ((LPCTSTR)menu.ItemGetText(12), "More Windows");
    CExtCmdItem* pCmd = g_CommandManager->CmdGetPtr("winlist", 0xFF00);
    ASSERT_NE(pCmd, nullptr);
    EXPECT_STREQ((LPCTSTR)pCmd->m_sTipStatus, "Document \"Doc 1\"");
    EXPECT_STREQ((LPCTSTR)pCmd->m_sToolbarText, "&1 Doc 1");
    EXPECT_TRUE(g_CommandManager->CmdGetPtr("winlist", 0xFF04)->GetRadio());

    // A window that is no MDI frame, nor inside one, gives nothing.
    CExtPopupMenuWnd other;
    HWND hWndPlain = ::CreateWindowA("STATIC", "", WS_POPUP, 0, 0, 5, 5, NULL, NULL, NULL, NULL);
    ASSERT_TRUE(other.CreatePopupMenu(hWndPlain));
    EXPECT_FALSE(other.UpdateMdiWindowsMenu(NULL));
    EXPECT_EQ(other.ItemGetCount(), 0);
    ::DestroyWindow(hWndPlain);
}

namespace {

class RecentFilesTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_hWndRecv = ::CreateWindowA("STATIC", "", WS_POPUP, 0, 0, 5, 5, NULL, NULL, NULL, NULL);
        ASSERT_TRUE(g_CommandManager->ProfileSetup("recent", m_hWndRecv));
        ::GetCurrentDirectoryA(MAX_PATH, m_szOldDir);
        char szTemp[MAX_PATH];
        ::GetTempPathA(MAX_PATH, szTemp);
        ::SetCurrentDirectoryA(szTemp);
        ::GetCurrentDirectoryA(MAX_PATH, m_szDir);
        m_pApp = new CWinApp("recent-test");
    }
    void TearDown() override
    {
        delete m_pApp;
        ::SetCurrentDirectoryA(m_szOldDir);
        g_CommandManager->ProfileDestroy("recent", true);
        ::DestroyWindow(m_hWndRecv);
    }
    HWND m_hWndRecv = NULL;
    CWinApp* m_pApp = NULL;
    char m_szOldDir[MAX_PATH] = {0};
    char m_szDir[MAX_PATH] = {0};
};

}  // namespace

TEST_F(RecentFilesTest, TwelveFilesReplaceThePlaceholder)
{
    m_pApp->m_pRecentFileList = new CRecentFileList(0, "Recent File List", "File%d", 12, 40);
    for (int i = 12; i >= 1; i--)  // the newest goes first
        m_pApp->m_pRecentFileList->Add((std::string(m_szDir) + "\\file" + std::to_string(i)).c_str());
    CExtPopupMenuWnd menu;
    ASSERT_TRUE(menu.LoadMenu(m_hWndRecv, IDR_MENUS_TEST_MENU, true, false));
    // Open, separator, Save, twelve files, separator, Gray, Checked, More, separator, Exit.
    ASSERT_EQ(menu.ItemGetCount(), 21);
    EXPECT_EQ(menu.ItemGetCmdID(2), (UINT)ID_MT_SAVE);
    struct
    {
        int nItem;
        const char* sText;
        char cKey;
    } rows[] = {{3, "&1 file1", '1'}, {11, "&9 file9", '9'}, {12, "1&0 file10", '0'}, {14, "1&2 file12", '2'}};
    for (const auto& r : rows)
    {
        EXPECT_STREQ((LPCTSTR)menu.ItemGetText(r.nItem), r.sText) << "item " << r.nItem;
        EXPECT_EQ(menu.ItemGetInfo(r.nItem).GetAccessKey(), r.cKey) << "item " << r.nItem;
    }
    EXPECT_EQ(menu.ItemGetCmdID(3), 0xE110u);
    EXPECT_EQ(menu.ItemGetCmdID(14), 0xE11Bu);
    EXPECT_TRUE(menu.ItemGetInfo(15).IsSeparator());
    EXPECT_EQ(menu.ItemGetCmdID(16), (UINT)ID_MT_GRAY);
    EXPECT_EQ(menu.ItemFindByAccessKey('0'), -1) << "the digit 0 never matches";
    CExtCmdItem* pCmd = g_CommandManager->CmdGetPtr("recent", 0xE111);
    ASSERT_NE(pCmd, nullptr);
    EXPECT_STREQ((LPCTSTR)pCmd->m_sToolbarText, "Recent file 2");
    EXPECT_STREQ((LPCTSTR)pCmd->m_sTipStatus, "Recent file 2 (\"file2\")");
}

TEST_F(RecentFilesTest, AnEmptyListGivesNeitherItemsNorSeparator)
{
    m_pApp->m_pRecentFileList = new CRecentFileList(0, "Recent File List", "File%d", 4, 40);
    CExtPopupMenuWnd menu;
    ASSERT_TRUE(menu.LoadMenu(m_hWndRecv, IDR_MENUS_TEST_MENU, true, false));
    ASSERT_EQ(menu.ItemGetCount(), 8);
    EXPECT_EQ(menu.ItemGetCmdID(3), (UINT)ID_MT_GRAY);
}
