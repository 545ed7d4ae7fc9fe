// Items made at run time: the window list of an MDI frame and the application's recent
// files in place of the File menu's placeholder.
#include "tests/toolkit/menus/menu_test_kit.h"

#include "tests/toolkit/menus/menus_test_ids.h"
#include "toolkit/core/cmd_item.h"
#include "toolkit/core/cmd_manager.h"

#include <string>

using namespace menukit;

TEST(WindowListTest, TwelveChildrenGiveNineItemsAndMoreWindows)
{
    CMDIFrameWnd* pFrame = new CMDIFrameWnd;
    ASSERT_TRUE(pFrame->Create(NULL, "MDI", WS_OVERLAPPEDWINDOW, CRect(0, 0, 600, 400)));
    ASSERT_TRUE(g_CommandManager->ProfileSetup("winlist", pFrame->GetSafeHwnd()));
    CMDIChildWnd* children[12];
    for (int i = 0; i < 12; i++)
    {
        children[i] = new CMDIChildWnd;
        ASSERT_TRUE(children[i]->Create(NULL, ("Doc " + std::to_string(i + 1)).c_str(),
                                        WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW, CRect(0, 0, 200, 150), pFrame));
    }
    children[1]->ShowWindow(SW_HIDE);  // keeps its id 0xFF01, takes no number
    pFrame->MDIActivate(children[4]);
    CExtPopupMenuWnd menu;
    ASSERT_TRUE(menu.CreatePopupMenu(pFrame->GetSafeHwnd()));
    menu.ItemInsertCommand(0x7D01, -1, "&Cascade");
    ASSERT_TRUE(menu.UpdateMdiWindowsMenu(pFrame));
    ASSERT_EQ(menu.ItemGetCount(), 13);
    const struct
    {
        int nItem;
        UINT nID;
        const char* sText;
        bool bRadio;
    } rows[] = {{2, 0xFF00, "&1 Doc 1", false}, {3, 0xFF02, "&2 Doc 3", false}, {5, 0xFF04, "&4 Doc 5", true},
                {10, 0xFF09, "&9 Doc 10", false}, {12, 0xFF09, "More Windows", false}};
    for (const auto& r : rows)
    {
        EXPECT_EQ(menu.ItemGetCmdID(r.nItem), r.nID) << "item " << r.nItem;
        EXPECT_STREQ((LPCTSTR)menu.ItemGetText(r.nItem), r.sText) << "item " << r.nItem;
        EXPECT_EQ(menu.ItemGetInfo(r.nItem).GetRadio(), r.bRadio) << "item " << r.nItem;
    }
    EXPECT_TRUE(menu.ItemGetInfo(1).IsSeparator());
    EXPECT_TRUE(menu.ItemGetInfo(11).IsSeparator());
    EXPECT_EQ(menu.ItemGetInfo(3).GetAccessKey(), '2');
    CExtCmdItem* pCmd = g_CommandManager->CmdGetPtr("winlist", 0xFF00);
    ASSERT_NE(pCmd, nullptr);
    EXPECT_STREQ((LPCTSTR)pCmd->m_sTipStatus, "Document \"Doc 1\"");
    EXPECT_TRUE(g_CommandManager->CmdGetPtr("winlist", 0xFF04)->GetRadio());

    // A window that is no MDI frame, nor inside one, gives nothing.
    CExtPopupMenuWnd other;
    HWND hWndPlain = ::CreateWindowA("STATIC", "", WS_POPUP, 0, 0, 5, 5, NULL, NULL, NULL, NULL);
    ASSERT_TRUE(other.CreatePopupMenu(hWndPlain));
    EXPECT_FALSE(other.UpdateMdiWindowsMenu(NULL));
    EXPECT_EQ(other.ItemGetCount(), 0);
    ::DestroyWindow(hWndPlain);
    pFrame->DestroyWindow();
    g_CommandManager->ProfileDestroy("winlist", true);
}

TEST(RecentFilesTest, FilesReplaceThePlaceholderOrNothingDoes)
{
    HWND hWndRecv = ::CreateWindowA("STATIC", "", WS_POPUP, 0, 0, 5, 5, NULL, NULL, NULL, NULL);
    ASSERT_TRUE(g_CommandManager->ProfileSetup("recent", hWndRecv));
    char szOldDir[MAX_PATH], szDir[MAX_PATH];
    ::GetCurrentDirectoryA(MAX_PATH, szOldDir);
    ::GetTempPathA(MAX_PATH, szDir);
    ::SetCurrentDirectoryA(szDir);
    ::GetCurrentDirectoryA(MAX_PATH, szDir);
    CWinApp app("recent-test");
    for (int nFiles : {12, 0})
    {
        delete app.m_pRecentFileList;
        app.m_pRecentFileList = new CRecentFileList(0, "Recent File List", "File%d", 12, 40);
        for (int i = nFiles; i >= 1; i--)  // the newest goes first
            app.m_pRecentFileList->Add((std::string(szDir) + "\\file" + std::to_string(i)).c_str());
        CExtPopupMenuWnd menu;
        ASSERT_TRUE(menu.LoadMenu(hWndRecv, IDR_MENUS_TEST_MENU, true, false));
        if (nFiles == 0)
        {
            // Open, separator, Save, Gray, Checked, More, separator, Exit.
            EXPECT_EQ(menu.ItemGetCount(), 8);
            EXPECT_EQ(menu.ItemGetCmdID(3), (UINT)ID_MT_GRAY);
            continue;
        }
        // Open, separator, Save, twelve files, separator, Gray, Checked, More, separator, Exit.
        ASSERT_EQ(menu.ItemGetCount(), 21);
        const struct
        {
            int nItem;
            UINT nID;
            const char* sText;
            char cKey;
        } rows[] = {{3, 0xE110, "&1 file1", '1'}, {11, 0xE118, "&9 file9", '9'},
                    {12, 0xE119, "1&0 file10", '0'}, {14, 0xE11B, "1&2 file12", '2'}};
        for (const auto& r : rows)
        {
            EXPECT_EQ(menu.ItemGetCmdID(r.nItem), r.nID) << "item " << r.nItem;
            EXPECT_STREQ((LPCTSTR)menu.ItemGetText(r.nItem), r.sText) << "item " << r.nItem;
            EXPECT_EQ(menu.ItemGetInfo(r.nItem).GetAccessKey(), r.cKey) << "item " << r.nItem;
        }
        EXPECT_TRUE(menu.ItemGetInfo(15).IsSeparator());
        EXPECT_EQ(menu.ItemFindByAccessKey('0'), -1) << "the digit 0 never matches";
        CExtCmdItem* pCmd = g_CommandManager->CmdGetPtr("recent", 0xE111);
        EXPECT_STREQ((LPCTSTR)pCmd->m_sToolbarText, "Recent file 2");
        EXPECT_STREQ((LPCTSTR)pCmd->m_sTipStatus, "Recent file 2 (\"file2\")");
    }
    ::SetCurrentDirectoryA(szOldDir);
    g_CommandManager->ProfileDestroy("recent", true);
    ::DestroyWindow(hWndRecv);
}
