// The recent-file list (newest first without duplicates, removal, display names) and the
// MDI frame's numbered children.
#include <gtest/gtest.h>

#include "framework/framework.h"

TEST(RecentFileListTest, OrderRemovalAndDisplayNames)
{
    CRecentFileList list(0, "Recent File List", "File%d", 3, 20);
    for (const char* s : {"C:\\docs\\notes", "C:\\a\\two", "c:\\DOCS\\NOTES", "D:\\x\\averyveryverylongname",
                          "C:\\very\\long\\folder\\report"})
        list.Add(s);  // the same file in another spelling moves up; the oldest drops off
    const char* order[] = {"C:\\very\\long\\folder\\report", "D:\\x\\averyveryverylongname", "c:\\DOCS\\NOTES"};
    for (int i = 0; i < 3; i++)
        EXPECT_STREQ((LPCTSTR)list[i], order[i]) << i;
    const struct
    {
        int nIndex;
        const char* sCurDir;
        const char* sShown;
    } cases[] = {
        {2, "C:\\docs\\", "NOTES"},                  // in the current directory: the title
        {2, "C:\\other\\", "c:\\DOCS\\NOTES"},       // fits the length
        {0, "C:\\docs\\", "C:\\...\\folder\\report"},  // abbreviated to 20
        {1, "C:\\docs\\", "averyveryverylongname"},  // at least the name
    };
    for (const auto& c : cases)
    {
        CString s;
        ASSERT_TRUE(list.GetDisplayName(s, c.nIndex, c.sCurDir, lstrlenA(c.sCurDir))) << c.nIndex;
        EXPECT_STREQ((LPCTSTR)s, c.sShown) << c.nIndex << " in " << c.sCurDir;
    }
    list.Remove(0);
    EXPECT_STREQ((LPCTSTR)list[0], order[1]);
    CString s;
    EXPECT_FALSE(list.GetDisplayName(s, 2, "C:\\", 3)) << "an empty entry";
}

TEST(MdiFrameTest, ChildrenAreNumberedInTheClientAndTheNewOneIsActive)
{
    CMDIFrameWnd* pFrame = new CMDIFrameWnd;
    ASSERT_TRUE(pFrame->Create(NULL, "MDI", WS_OVERLAPPEDWINDOW, CRect(0, 0, 500, 300)));
    ASSERT_NE(pFrame->m_hWndMDIClient, (HWND)NULL);
    CMDIChildWnd* children[2];
    for (int i = 0; i < 2; i++)
    {
        children[i] = new CMDIChildWnd;
        ASSERT_TRUE(children[i]->Create(NULL, "Doc", WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW, CRect(0, 0, 99, 80),
                                        pFrame));
        EXPECT_EQ(children[i]->GetDlgCtrlID(), AFX_IDM_FIRST_MDICHILD + i);
        EXPECT_EQ(pFrame->MDIGetActive(), children[i]);
    }
    EXPECT_EQ(children[0]->GetMDIFrame(), pFrame);
    children[0]->MDIActivate();
    EXPECT_EQ(pFrame->MDIGetActive(), children[0]);
    pFrame->DestroyWindow();
}
