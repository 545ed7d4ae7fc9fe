// The right pane: the list above the details pane at the stored percentage, the
// mediator's requests it answers, the details pane shown and closed, and the split
// stored again when it goes; the details page's rows and columns and the details list's
// plain look.
#include "pages_test_util.h"
#include "app/page_uninstall_view.h"
#include "support/dib_canvas.h"

using testsupport::DibCanvas;

namespace {

CRect ChildRect(HWND hChild)
{
    CRect rc;
    ::GetWindowRect(hChild, &rc);
    ::MapWindowPoints(NULL, ::GetParent(hChild), (POINT*)&rc, 2);
    return rc;
}

class PageViewTest : public pagestest::PagesTest
{
protected:
    void SetUp() override
    {
        PagesTest::SetUp();
        if (HasFatalFailure()) return;
        SeedEntry("AppAlpha", "Alpha Suite", "alpha-unins.exe", "Alpha Ltd");
        SetSz("AppAlpha", "InstallLocation", "C:\\Alpha\\");
        SeedEntry("AppBeta", "beta tool", NULL, NULL);
        g_ShowDetails.Value = 1;
    }
    void TearDown() override
    {
        if (m_view.GetSafeHwnd() != NULL) m_view.DestroyWindow();
        PagesTest::TearDown();
    }
    void Make(int cx = 600, int cy = 400)
    {
        ASSERT_TRUE(m_view.Create(&m_host));
        m_view.MoveWindow(0, 0, cx, cy);
        m_view.ShowWindow(SW_SHOW);
        testsupport::PumpPending();
    }
    int Bar() const { return ::GetSystemMetrics(SM_CYFRAME); }
    // A full refresh (it selects no row), then the user selects the first row.
    void RefreshAndChooseFirst()
    {
        CUiManager::GetInstance()->RefreshPrograms(false);
        m_view.m_pageList.m_wndList.SetItemState(0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    }

    CPageUninstallView m_view;
};

TEST_F(PageViewTest, AFirstStartPutsTheBarAt65PercentAndStoresItAgain)
{
    g_ListSize.Value = 0;
    Make();
    EXPECT_EQ(65, g_ListSize.Value);
    CUiManager* pUi = CUiManager::GetInstance();
    EXPECT_EQ(m_view.GetSafeHwnd(), pUi->m_hWndRightPane);
    EXPECT_EQ(m_view.m_pageDetails.GetSafeHwnd(), pUi->m_hWndDetailsPane);

    EXPECT_FALSE(m_view.m_wndSplitter.m_bVertical);
    EXPECT_EQ(CRect(0, 0, 600, 400), ChildRect(m_view.m_wndSplitter.GetSafeHwnd()));
    // The pane was resized after the bar was placed: the proportion of the usable
    // height is kept, so the share of the whole height may move by a point.
    const int nPercent = m_view.GetListPercentage();
    EXPECT_NEAR(65, nPercent, 1);
    const int nPos = m_view.m_wndSplitter.m_nPosition;
    EXPECT_EQ(CRect(0, 0, 600, nPos), ChildRect(m_view.m_pageList.GetSafeHwnd()));
    EXPECT_EQ(CRect(0, nPos + Bar(), 600, 400), ChildRect(m_view.m_wndDetailsBar.GetSafeHwnd()));
    CString strCaption;
    m_view.m_wndDetailsBar.GetWindowText(strCaption);
    EXPECT_STREQ("Details", (LPCTSTR)strCaption);
    EXPECT_EQ(331, m_view.m_wndDetailsBar.GetDlgCtrlID());

    m_view.DestroyWindow();
    EXPECT_EQ(nPercent, g_ListSize.Value);
}

TEST_F(PageViewTest, TheSplitIsStoredAsARoundedPercentageWhenThePaneGoes)
{
    g_ListSize.Value = 40;
    Make(600, 400);
    EXPECT_NEAR(40, m_view.GetListPercentage(), 1);
    m_view.m_wndSplitter.SetPosition(258, true);  // 64.5 % of 400
    m_view.DestroyWindow();
    EXPECT_EQ(65, g_ListSize.Value);

    struct Case
    {
        int position, extent, percent;
    };
    const Case cases[] = {{258, 400, 65}, {257, 400, 64}, {0, 400, 0}, {400, 400, 100}, {1, 3, 33}, {5, 0, -1}};
    for (const Case& c : cases)
        EXPECT_EQ(c.percent, SplitterPercentage(c.position, c.extent)) << c.position << "/" << c.extent;
}

TEST_F(PageViewTest, DetailsHiddenAtStartLeaveTheListAlone)
{
    g_ShowDetails.Value = 0;
    Make();
    EXPECT_EQ(0, m_view.m_wndSplitter.m_nSinglePane);
    EXPECT_FALSE(m_view.m_wndDetailsBar.IsWindowVisible());
    EXPECT_EQ(CRect(0, 0, 600, 400), ChildRect(m_view.m_pageList.GetSafeHwnd()));
}

TEST_F(PageViewTest, TheDetailsBarMessageAndTheCloseButtonShowAndHideTheDetails)
{
    g_ListSize.Value = 50;
    Make();
    const int nPos = m_view.m_wndSplitter.m_nPosition;
    CUiManager* pUi = CUiManager::GetInstance();
    pUi->ShowDetailsBar(false);
    EXPECT_EQ(0, g_ShowDetails.Value);
    EXPECT_FALSE(m_view.m_wndDetailsBar.IsWindowVisible());
    EXPECT_EQ(CRect(0, 0, 600, 400), ChildRect(m_view.m_pageList.GetSafeHwnd()));

    pUi->ShowDetailsBar(true);
    EXPECT_EQ(1, g_ShowDetails.Value);
    EXPECT_TRUE(m_view.m_wndDetailsBar.IsWindowVisible());
    EXPECT_EQ(CRect(0, 0, 600, nPos), ChildRect(m_view.m_pageList.GetSafeHwnd()));

    // The caption's close button: the same as hiding the details.
    m_view.SendMessage(CExtContainerBar::g_nMsgNotifyBtnClose, (WPARAM)m_view.m_wndDetailsBar.GetSafeHwnd(), 331);
    EXPECT_EQ(0, g_ShowDetails.Value);
    EXPECT_EQ(0, m_view.m_wndSplitter.m_nSinglePane);
}

TEST_F(PageViewTest, RefreshFilterAndOptionsReachTheList)
{
    Make();
    CUiManager* pUi = CUiManager::GetInstance();
    pUi->RefreshPrograms(false);
    EXPECT_EQ(2, m_view.m_pageList.m_wndList.GetItemCount());
    EXPECT_EQ(2u, pUi->m_nShownPrograms);

    m_view.m_pageList.m_strSearch = "beta";
    pUi->RefreshPrograms(true);
    EXPECT_EQ(1, m_view.m_pageList.m_wndList.GetItemCount());
    m_view.m_pageList.m_strSearch.Empty();

    g_GridEnabled.Value = 0;
    g_GridColor1.Value = RGB(1, 2, 3);
    g_GridColor2.Value = RGB(4, 5, 6);
    g_Hide.Value = 1;
    pUi->OptionsChanged();
    EXPECT_FALSE(m_view.m_pageList.m_wndList.m_bAlternateRows);
    EXPECT_EQ(RGB(1, 2, 3), m_view.m_pageList.m_wndList.m_clrGrid1);
    EXPECT_EQ(RGB(4, 5, 6), m_view.m_pageList.m_wndList.m_clrGrid2);
    // A full refresh: the hide option now leaves out the entry without a command.
    EXPECT_EQ(1, m_view.m_pageList.m_wndList.GetItemCount());
    EXPECT_EQ(2u, pUi->m_nTotalPrograms);
}

TEST_F(PageViewTest, TheDetailsListShowsEveryValueOfTheSelectedProgram)
{
    Make();
    RefreshAndChooseFirst();
    ProgramEntry* pEntry = CUiManager::GetInstance()->GetSelectedProgram();
    ASSERT_TRUE(pEntry != NULL);
    ASSERT_EQ("Alpha Suite", pEntry->DisplayName);
    CExtDetailsCtrl& list = m_view.m_pageDetails.m_wndDetails;
    ASSERT_EQ((int)pEntry->Values.size(), list.GetItemCount());
    int nRow = 0;
    for (const auto& value : pEntry->Values) {
        EXPECT_EQ(value.first, std::string((LPCTSTR)list.GetItemText(nRow, 0))) << nRow;
        EXPECT_EQ(value.second, std::string((LPCTSTR)list.GetItemText(nRow, 1))) << nRow;
        ++nRow;
    }
    EXPECT_EQ(4, nRow) << "DisplayName, InstallLocation, Publisher, UninstallString";

    // Nothing selected: the pane shows nothing either.
    CUiManager::GetInstance()->SetSelectedProgram(NULL);
    CUiManager::GetInstance()->ShowProgramDetails(NULL);
    EXPECT_EQ(0, list.GetItemCount());
}

TEST_F(PageViewTest, AProgramWithoutValuesLeavesTheDetailsEmpty)
{
    Make();
    RefreshAndChooseFirst();
    ASSERT_GT(m_view.m_pageDetails.m_wndDetails.GetItemCount(), 0);
    ProgramEntry empty;
    m_view.m_pageDetails.ShowProgram(&empty);
    EXPECT_EQ(0, m_view.m_pageDetails.m_wndDetails.GetItemCount());
}

TEST_F(PageViewTest, ShowingTheDetailsAgainScrollsTheListToItsSelectionMark)
{
    for (int i = 0; i < 60; ++i) {
        char key[32], name[32];
        wsprintfA(key, "AppMany%02d", i);
        wsprintfA(name, "Many %02d", i);
        SeedEntry(key, name, "x.exe", NULL);
    }
    Make();
    CUiManager* pUi = CUiManager::GetInstance();
    pUi->RefreshPrograms(false);
    CExtReportCtrl& list = m_view.m_pageList.m_wndList;
    const int nLast = list.GetItemCount() - 1;
    ASSERT_GT(nLast, 40);
    pUi->ShowDetailsBar(false);
    list.SetSelectionMark(nLast);
    list.EnsureVisible(0, FALSE);
    ASSERT_EQ(0, list.GetTopIndex());
    pUi->ShowDetailsBar(true);
    EXPECT_GE(nLast, list.GetTopIndex());
    EXPECT_LT(nLast, list.GetTopIndex() + list.GetCountPerPage()) << "the marked row is in view";
}

TEST_F(PageViewTest, TheDetailsColumnsTakeTheirSharesOfThePageWidth)
{
    Make();
    CRect rcPage;
    m_view.m_pageDetails.GetClientRect(&rcPage);
    CExtDetailsCtrl& list = m_view.m_pageDetails.m_wndDetails;
    EXPECT_EQ((int)((float)rcPage.Width() * 0.3f), list.GetColumnWidth(0));
    EXPECT_EQ((int)((float)rcPage.Width() * 0.64f), list.GetColumnWidth(1));

    // Widening the list itself widens only the value column.
    const int nFirst = list.GetColumnWidth(0);
    list.MoveWindow(0, 0, 500, 100);
    CRect rcList;
    list.GetClientRect(&rcList);
    EXPECT_EQ(nFirst, list.GetColumnWidth(0));
    EXPECT_EQ(rcList.Width() - nFirst, list.GetColumnWidth(1));
}

TEST_F(PageViewTest, SelectingADetailsRowChangesNothingOnScreen)
{
    Make();
    RefreshAndChooseFirst();
    CExtDetailsCtrl& list = m_view.m_pageDetails.m_wndDetails;
    ASSERT_GT(list.GetItemCount(), 1);
    CRect rcClient;
    list.GetClientRect(&rcClient);
    auto print = [&](DibCanvas& canvas) { list.SendMessage(WM_PRINTCLIENT, (WPARAM)canvas.Dc(), PRF_CLIENT); };
    DibCanvas before(rcClient.Width(), rcClient.Height());
    print(before);
    list.SetFocus();
    list.SetItemState(1, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    DibCanvas after(rcClient.Width(), rcClient.Height());
    print(after);
    int nDifferent = 0;
    for (int y = 0; y < rcClient.Height(); ++y)
        for (int x = 0; x < rcClient.Width(); ++x)
            if (before.Pixel(x, y) != after.Pixel(x, y)) ++nDifferent;
    EXPECT_EQ(0, nDifferent);

    // The rows stand on the theme's background, without grid lines.
    DibCanvas expected(rcClient.Width(), rcClient.Height());
    CDC dc;
    dc.Attach(expected.Dc());
    g_CurrentPaintManager.GetPM()->DrawToolbarBackground(dc, rcClient, &list);
    dc.Detach();
    CRect rcRow;
    list.GetItemRect(0, &rcRow, LVIR_BOUNDS);
    const int x = rcClient.right - 2;
    for (int y = rcRow.top; y < rcRow.bottom; ++y) EXPECT_EQ(expected.Pixel(x, y), after.Pixel(x, y)) << y;
}

}  // namespace
