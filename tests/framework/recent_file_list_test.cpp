// The recent-file list: newest first without duplicates, removal, and the names shown in
// menus (the file title in the current directory, else an abbreviated path).
#include <gtest/gtest.h>

#include "framework/framework.h"

TEST(RecentFileListTest, AddKeepsTheNewestFirstWithoutDuplicates)
{
    CRecentFileList list(0, "Recent File List", "File%d", 3);
    list.Add("C:\\a\\one.txt");
    list.Add("C:\\a\\two.txt");
    list.Add("c:\\A\\ONE.txt");  // the same file, another spelling: moves to the top
    EXPECT_STREQ((LPCTSTR)list[0], "c:\\A\\ONE.txt");
    EXPECT_STREQ((LPCTSTR)list[1], "C:\\a\\two.txt");
    EXPECT_TRUE(list[2].IsEmpty());
    list.Add("C:\\a\\three.txt");
    list.Add("C:\\a\\four.txt");  // the oldest drops off
    const char* expected[] = {"C:\\a\\four.txt", "C:\\a\\three.txt", "c:\\A\\ONE.txt"};
    for (int i = 0; i < 3; i++)
        EXPECT_STREQ((LPCTSTR)list[i], expected[i]) << i;
    list.Remove(0);
    EXPECT_STREQ((LPCTSTR)list[0], "C:\\a\\three.txt");
    EXPECT_TRUE(list[2].IsEmpty());
}

TEST(RecentFileListTest, DisplayNames)
{
    CRecentFileList list(0, "Recent File List", "File%d", 4, 20);
    list.Add("C:\\very\\long\\folder\\name\\report");
    list.Add("C:\\docs\\notes");
    list.Add("D:\\x\\averyveryverylongfilename");
    struct
    {
        int nIndex;
        const char* sCurDir;
        const char* sShown;
    } cases[] = {
        {1, "C:\\docs\\", "notes"},                      // in the current directory: the title
        {1, "C:\\other\\", "C:\\docs\\notes"},           // fits the length
        {2, "C:\\docs\\", "C:\\...\\name\\report"},       // abbreviated to 20
        {0, "C:\\docs\\", "averyveryverylongfilename"},  // at least the name
    };
    for (const auto& c : cases)
    {
        CString s;
        ASSERT_TRUE(list.GetDisplayName(s, c.nIndex, c.sCurDir, lstrlenA(c.sCurDir))) << c.nIndex;
        EXPECT_STREQ((LPCTSTR)s, c.sShown) << c.nIndex << " in " << c.sCurDir;
    }
    CString s;
    EXPECT_FALSE(list.GetDisplayName(s, 3, "C:\\", 3)) << "an empty entry";
}

TEST(MdiFrameTest, ChildrenAreNumberedInTheClientAndTheActiveOneIsKnown)
{
    CMDIFrameWnd* pFrame = new CMDIFrameWnd;
    ASSERT_TRUE(pFrame->Create(NULL, "MDI", WS_OVERLAPPEDWINDOW, CRect(0, 0, 500, 300)));
    ASSERT_NE(pFrame->m_hWndMDIClient, (HWND)NULL);
    EXPECT_EQ(pFrame->MDIGetActive(), nullptr);
    CMDIChildWnd* pA = new CMDIChildWnd;
    CMDIChildWnd* pB = new CMDIChildWnd;
    ASSERT_TRUE(pA->Create(NULL, "A", WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW, CRect(0, 0, 100, 80), pFrame));
    ASSERT_TRUE(pB->Create(NULL, "B", WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW, CRect(0, 0, 100, 80), pFrame));
    EXPECT_EQ(pA->GetDlgCtrlID(), AFX_IDM_FIRST_MDICHILD);
    EXPECT_EQ(pB->GetDlgCtrlID(), AFX_IDM_FIRST_MDICHILD + 1);
    EXPECT_EQ(pA->GetMDIFrame(), pFrame);
    EXPECT_EQ(pFrame->MDIGetActive(), pB);
    pA->MDIActivate();
    EXPECT_EQ(pFrame->MDIGetActive(), pA);
    const HWND hWndA = pA->GetSafeHwnd();
    pA->MDIDestroy();  // the object goes with its window
    EXPECT_FALSE(::IsWindow(hWndA));
    pFrame->DestroyWindow();
}
