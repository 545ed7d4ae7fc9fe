// The program list page filled through the catalogue from a seeded registry: rows and
// their column texts, the hide, group and search filters, the header sort, the
// selection the mediator follows, and the copied text.
#include "pages_test_util.h"
#include "app/page_uninstall_list.h"
#include "res/resource.h"
#include "toolkit/menus/popup_menu_wnd.h"

using pagestest::MakeFileTime;

namespace {

// A details pane that records the programs it is asked to show.
struct Recorder
{
    static LRESULT CALLBACK Proc(HWND h, UINT m, WPARAM w, LPARAM l)
    {
        if (m == g_nMsgShowProgramDetails) s_shown.push_back((ProgramEntry*)w);
        return ::DefWindowProcA(h, m, w, l);
    }
    static std::vector<ProgramEntry*> s_shown;
};
std::vector<ProgramEntry*> Recorder::s_shown;

class PageListTest : public pagestest::PagesTest
{
protected:
    void SetUp() override
    {
        PagesTest::SetUp();
        if (HasFatalFailure()) return;
        // Alpha: every figure known. beta: no uninstall command, no publisher, no cache
        // record. Gamma: a cache record without a size or date.
        SeedEntry("AppAlpha", "Alpha Suite", "alpha-unins.exe", "Alpha Ltd");
        SetArp("AppAlpha", 1234567, MakeFileTime(2024, 1, 31, 12), 10);
        SeedEntry("AppBeta", "beta tool", NULL, NULL);
        SeedEntry("AppGamma", "Gamma Viewer", "gamma-unins.exe", "Gamma Inc");
        SetArp("AppGamma", -1, FILETIME{0, 0}, 2);
        ASSERT_TRUE(m_page.Create(&m_host));
        m_page.MoveWindow(0, 0, 600, 400);
        // Shown, as in the program: a refresh selects a row only in a list on screen.
        m_page.ShowWindow(SW_SHOW);
    }
    void TearDown() override
    {
        if (m_page.GetSafeHwnd() != NULL) m_page.DestroyWindow();
        PagesTest::TearDown();
    }

    int Rows() { return m_page.m_wndList.GetItemCount(); }
    std::string Text(int nRow, int nColumn) { return (LPCTSTR)m_page.m_wndList.GetItemText(nRow, nColumn); }
    std::vector<std::string> Names()
    {
        std::vector<std::string> names;
        for (int i = 0; i < Rows(); ++i) names.push_back(Text(i, 0));
        return names;
    }
    ProgramEntry* EntryOf(int nRow)
    {
        ReportRowData* pRow = (ReportRowData*)m_page.m_wndList.GetItemData(nRow);
        return pRow != NULL ? (ProgramEntry*)pRow->pUserData : NULL;
    }
    // The user selects a row.
    void Choose(int nRow)
    {
        m_page.m_wndList.SetItemState(nRow, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    }
    int SelectedRow() { return m_page.m_wndList.GetNextItem(-1, LVNI_SELECTED); }
    void ClickHeader(int nColumn)
    {
        CHeaderCtrl* pHeader = m_page.m_wndList.GetHeaderCtrl();
        NMHEADERA nm = {};
        nm.hdr.hwndFrom = pHeader->GetSafeHwnd();
        nm.hdr.idFrom = (UINT_PTR)::GetDlgCtrlID(pHeader->GetSafeHwnd());
        nm.hdr.code = HDN_ITEMCLICKA;
        nm.iItem = nColumn;
        nm.iButton = 0;
        m_page.m_wndList.SendMessage(WM_NOTIFY, nm.hdr.idFrom, (LPARAM)&nm);
    }

    CPageUninstallList m_page;
};

TEST_F(PageListTest, ColumnsAreTheFiveOfTheProgramList)
{
    CHeaderCtrl* pHeader = m_page.m_wndList.GetHeaderCtrl();
    ASSERT_EQ(5, pHeader->GetItemCount());
    const char* titles[] = {"Application", "Publisher", "Size", "Used", "Frequency"};
    const int widths[] = {200, 115, 75, 80, 75};
    const int formats[] = {LVCFMT_LEFT, LVCFMT_LEFT, LVCFMT_RIGHT, LVCFMT_RIGHT, LVCFMT_RIGHT};
    for (int i = 0; i < 5; ++i) {
        char title[64] = {};
        LVCOLUMNA column = {};
        column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
        column.pszText = title;
        column.cchTextMax = sizeof(title);
        ASSERT_TRUE(m_page.m_wndList.SendMessage(LVM_GETCOLUMNA, i, (LPARAM)&column)) << i;
        EXPECT_STREQ(titles[i], title) << i;
        EXPECT_EQ(widths[i], column.cx) << i;
        EXPECT_EQ(formats[i], column.fmt & LVCFMT_JUSTIFYMASK) << i;
    }
    EXPECT_EQ(::GetSystemMetrics(SM_CYSMICON) + 6, m_page.m_wndList.m_nRowHeight);
    EXPECT_TRUE(m_page.m_wndSearch.m_wndIcon.m_hIcon != NULL) << "the search icon";
    EXPECT_EQ(g_GridEnabled.Value != 0, m_page.m_wndList.m_bAlternateRows);
    EXPECT_EQ((COLORREF)g_GridColor1.Value, m_page.m_wndList.m_clrGrid1);
    EXPECT_EQ((COLORREF)g_GridColor2.Value, m_page.m_wndList.m_clrGrid2);
}

TEST_F(PageListTest, AFullRefreshListsEveryEntryWithItsColumnTexts)
{
    m_page.RefreshList();
    ASSERT_EQ(3, Rows());
    EXPECT_EQ((std::vector<std::string>{"Alpha Suite", "beta tool", "Gamma Viewer"}), Names());

    EXPECT_EQ("Alpha Ltd", Text(0, 1));
    EXPECT_EQ("1 234 567", Text(0, 2));
    // The cache's time is shown as it is stored, without a conversion to local time.
    SYSTEMTIME st = {};
    st.wYear = 2024;
    st.wMonth = 1;
    st.wDay = 31;
    st.wDayOfWeek = 3;
    char date[20] = {};
    ::GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &st, NULL, date, sizeof(date));
    EXPECT_EQ(date, Text(0, 3));
    EXPECT_EQ("Frequently", Text(0, 4));

    // No cache record, no publisher.
    for (int nColumn = 1; nColumn <= 4; ++nColumn) EXPECT_EQ("N/A", Text(1, nColumn)) << nColumn;
    // A cache record without a size or a date.
    EXPECT_EQ("N/A", Text(2, 2));
    EXPECT_EQ("N/A", Text(2, 3));
    EXPECT_EQ("Rarely", Text(2, 4));

    // Only the entry without an uninstall command is dark red; every row has an icon.
    for (int nRow = 0; nRow < 3; ++nRow) {
        ReportRowData* pRow = m_page.m_wndList.GetRowData(nRow);
        ReportCellFormat& first = m_page.m_wndList.GetCellFormat(pRow, 0);
        EXPECT_EQ(nRow == 1, first.bTextSet) << nRow;
        if (nRow == 1) {
            EXPECT_EQ(RGB(192, 0, 0), first.clrText);
        }
        EXPECT_TRUE(first.hIcon != NULL) << nRow;
        ASSERT_TRUE(EntryOf(nRow) != NULL) << nRow;
        EXPECT_EQ(Text(nRow, 0), EntryOf(nRow)->DisplayName) << nRow;
    }
    // Entries without an icon share the cache's default icon.
    EXPECT_EQ(m_page.m_IconCache.GetDefaultIcon(), m_page.m_wndList.GetCellFormat(m_page.m_wndList.GetRowData(0), 0).hIcon);

    CUiManager* pUi = CUiManager::GetInstance();
    EXPECT_EQ(3u, pUi->m_nShownPrograms);
    EXPECT_EQ(3u, pUi->m_nTotalPrograms);
    // The refresh picks no program: no row is selected, the focus rests on the first.
    EXPECT_EQ(-1, SelectedRow());
    EXPECT_TRUE(pUi->GetSelectedProgram() == NULL);
    EXPECT_EQ(0, m_page.m_wndList.GetNextItem(-1, LVNI_FOCUSED));
}

// The program the user chose stays selected through a full refresh, found again by its
// registry key among the new entries; one that is gone leaves no row selected, and the
// focus where its row was.
TEST_F(PageListTest, AFullRefreshKeepsTheChosenProgramOrSelectsNone)
{
    m_page.RefreshList();
    Choose(1);
    ASSERT_EQ("beta tool", CUiManager::GetInstance()->GetSelectedProgram()->DisplayName);
    // A program that sorts before it moves it down a row.
    SeedEntry("AppAardvark", "Aardvark", "a.exe", NULL);
    m_page.RefreshList();
    ASSERT_EQ(4, Rows());
    EXPECT_EQ(2, SelectedRow());
    EXPECT_EQ(EntryOf(2), CUiManager::GetInstance()->GetSelectedProgram());
    EXPECT_EQ("beta tool", EntryOf(2)->DisplayName);

    // Another program of the same name under another key is not the chosen one.
    ASSERT_TRUE(testsupport::RegistrySandbox::DeleteTree(HKEY_CURRENT_USER, UninstallKeyPath + "AppBeta"));
    SeedEntry("AppBeta2", "beta tool", NULL, NULL);
    m_page.RefreshList();
    ASSERT_EQ(4, Rows());
    EXPECT_EQ(-1, SelectedRow());
    EXPECT_TRUE(CUiManager::GetInstance()->GetSelectedProgram() == NULL);
    EXPECT_EQ(2, m_page.m_wndList.GetNextItem(-1, LVNI_FOCUSED));
}

// Sorted against the catalogue's order, a refill still selects the chosen program's row
// where the sort put it, not where the row was added.
TEST_F(PageListTest, ARefillSelectsTheChosenRowWhereTheSortPutsIt)
{
    m_page.RefreshList();
    ClickHeader(0);  // by name again: descending
    ASSERT_EQ((std::vector<std::string>{"Gamma Viewer", "beta tool", "Alpha Suite"}), Names());
    Choose(2);
    ProgramEntry* pChosen = CUiManager::GetInstance()->GetSelectedProgram();
    ASSERT_TRUE(pChosen != NULL);
    ASSERT_EQ("Alpha Suite", pChosen->DisplayName);
    struct Step
    {
        const char* search;  // NULL: a full refresh
        int nRow;
    } steps[] = {{"t", 1}, {"", 2}, {"su", 0}, {NULL, 0}, {"", 2}, {NULL, 2}};
    for (const Step& step : steps) {
        SCOPED_TRACE(step.search != NULL ? std::string("search \"") + step.search + "\"" : "full refresh");
        if (step.search != NULL)
            m_page.m_wndSearch.SetWindowText(step.search);
        else
            m_page.RefreshList();
        EXPECT_EQ(step.nRow, SelectedRow());
        ProgramEntry* pSelected = CUiManager::GetInstance()->GetSelectedProgram();
        ASSERT_TRUE(pSelected != NULL);
        EXPECT_EQ(EntryOf(step.nRow), pSelected);
        EXPECT_EQ("Alpha Suite", pSelected->DisplayName);
    }
}

TEST_F(PageListTest, SizesFollowTheSizeUnit)
{
    struct Case
    {
        LONGLONG size;
        int type;
        const char* text;
    };
    const Case cases[] = {
        {1234567, 0, "1 234 567"},   {1234567, 1, "1 205.632 KB"}, {123, 0, "123"},
        {1234567, 2, "1.177 MB"},    {-1, 0, "N/A"},              {-1, 2, "N/A"},
        {1073741824LL * 1500, 3, "1 500.000 GB"}, {0, 0, "0"},     {1234567, 7, "1 234 567"},
        {-1234, 0, "-1 234"},
    };
    for (const Case& c : cases)
        EXPECT_STREQ(c.text, (LPCTSTR)CPageUninstallList::FormatSize(c.size, c.type)) << c.size << " unit " << c.type;

    g_SizeType.Value = 1;
    m_page.RefreshList();
    EXPECT_EQ("1 205.632 KB", Text(0, 2));
}

TEST_F(PageListTest, FrequencyAndDateTexts)
{
    struct Case
    {
        int frequency;
        const char* text;
    };
    const Case cases[] = {{-1, "N/A"}, {0, "Rarely"}, {2, "Rarely"}, {3, "Occasionally"}, {9, "Occasionally"},
                          {10, "Frequently"}, {500, "Frequently"}};
    for (const Case& c : cases)
        EXPECT_STREQ(c.text, (LPCTSTR)CPageUninstallList::FormatFrequency(c.frequency)) << c.frequency;
    EXPECT_STREQ("N/A", (LPCTSTR)CPageUninstallList::FormatDate(FILETIME{0, 0}));
}

TEST_F(PageListTest, HiddenEntriesWithoutUninstallCommandStillCountInTheTotal)
{
    g_Hide.Value = 1;
    m_page.RefreshList();
    EXPECT_EQ((std::vector<std::string>{"Alpha Suite", "Gamma Viewer"}), Names());
    EXPECT_EQ(2u, CUiManager::GetInstance()->m_nShownPrograms);
    EXPECT_EQ(3u, CUiManager::GetInstance()->m_nTotalPrograms);
}

TEST_F(PageListTest, TheSearchTextFiltersByNameIgnoringCaseAndKeepsOnlyAShownSelection)
{
    m_page.RefreshList();
    Choose(0);
    ProgramEntry* pSelected = CUiManager::GetInstance()->GetSelectedProgram();
    ASSERT_TRUE(pSelected != NULL);
    ASSERT_EQ("Alpha Suite", pSelected->DisplayName);

    // The selected program is still shown: its row is selected again.
    m_page.m_wndSearch.SetWindowText("SUITE");  // EN_CHANGE re-filters
    EXPECT_STREQ("SUITE", (LPCTSTR)m_page.m_strSearch);
    EXPECT_EQ((std::vector<std::string>{"Alpha Suite"}), Names());
    EXPECT_EQ(0, m_page.m_wndList.GetNextItem(-1, LVNI_SELECTED));
    EXPECT_EQ(pSelected, CUiManager::GetInstance()->GetSelectedProgram());

    // It is hidden: no row is selected and no program either.
    m_page.m_wndSearch.SetWindowText("VIEW");
    EXPECT_EQ((std::vector<std::string>{"Gamma Viewer"}), Names());
    EXPECT_EQ(-1, m_page.m_wndList.GetNextItem(-1, LVNI_SELECTED));
    EXPECT_TRUE(CUiManager::GetInstance()->GetSelectedProgram() == NULL);
    EXPECT_EQ(1u, CUiManager::GetInstance()->m_nShownPrograms);
    EXPECT_EQ(3u, CUiManager::GetInstance()->m_nTotalPrograms);

    m_page.m_wndSearch.SetWindowText("a");
    EXPECT_EQ((std::vector<std::string>{"Alpha Suite", "beta tool", "Gamma Viewer"}), Names());
    EXPECT_EQ(-1, m_page.m_wndList.GetNextItem(-1, LVNI_SELECTED));
    m_page.m_wndSearch.SetWindowText("");
    EXPECT_EQ(3, Rows());
}

TEST_F(PageListTest, TheCurrentGroupFiltersTheList)
{
    m_page.RefreshList();
    CGroupManager* pGroups = CGroupManager::GetInstance();
    GroupEntry* pGroup = pGroups->CreateGroup();
    pGroup->Name = "Viewers";
    pGroup->AddKeyword("VIEW");

    pGroups->m_pCurrentGroup = pGroup;
    m_page.FilterList();
    EXPECT_EQ((std::vector<std::string>{"Gamma Viewer"}), Names());

    pGroups->m_pCurrentGroup = pGroups->m_Groups.front();  // "Other"
    m_page.FilterList();
    EXPECT_EQ((std::vector<std::string>{"Alpha Suite", "beta tool"}), Names());

    pGroups->m_pCurrentGroup = NULL;
    m_page.FilterList();
    EXPECT_EQ(3, Rows());
}

TEST_F(PageListTest, HeaderClicksSortByTheirColumn)
{
    SeedEntry("AppDelta", "delta", "d.exe", "Aardvark");
    SetArp("AppDelta", 5000, MakeFileTime(2020, 5, 1, 0), 4);
    m_page.RefreshList();
    ASSERT_EQ(4, Rows());

    ClickHeader(2);  // Size, ascending: unknown sizes (no record: -1) first
    EXPECT_EQ(2, m_page.m_wndList.m_nSortColumn);
    EXPECT_TRUE(m_page.m_wndList.m_bSortAscending);
    std::vector<std::string> names = Names();
    EXPECT_EQ("delta", names[2]);
    EXPECT_EQ("Alpha Suite", names[3]);

    ClickHeader(2);  // the same column again: descending
    EXPECT_FALSE(m_page.m_wndList.m_bSortAscending);
    names = Names();
    EXPECT_EQ("Alpha Suite", names[0]);
    EXPECT_EQ("delta", names[1]);

    ClickHeader(1);  // Publisher: an empty publisher sorts as an empty text
    EXPECT_TRUE(m_page.m_wndList.m_bSortAscending);
    EXPECT_EQ((std::vector<std::string>{"beta tool", "delta", "Alpha Suite", "Gamma Viewer"}), Names());

    ClickHeader(3);  // Used: no date first, then by time
    EXPECT_EQ("delta", Names()[2]);
    EXPECT_EQ("Alpha Suite", Names()[3]);

    // A refresh keeps the sort state, and the chosen program at its sorted row.
    Choose(3);
    m_page.RefreshList();
    EXPECT_EQ("Alpha Suite", Names()[3]);
    EXPECT_EQ(3, SelectedRow());
    EXPECT_EQ(EntryOf(3), CUiManager::GetInstance()->GetSelectedProgram());
}

TEST_F(PageListTest, SelectingARowMakesItsProgramTheSelectedOneAndShowsItsDetails)
{
    WNDCLASSA wc = {};
    wc.lpfnWndProc = &Recorder::Proc;
    wc.hInstance = ::GetModuleHandleA(NULL);
    wc.lpszClassName = "PurgeletTestDetailsPane";
    ::RegisterClassA(&wc);
    HWND hPane = ::CreateWindowA("PurgeletTestDetailsPane", "", WS_POPUP, 0, 0, 10, 10, NULL, NULL, NULL, NULL);
    CUiManager::GetInstance()->m_hWndDetailsPane = hPane;

    m_page.RefreshList();
    Recorder::s_shown.clear();
    m_page.m_wndList.SetItemState(2, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    EXPECT_EQ(EntryOf(2), CUiManager::GetInstance()->GetSelectedProgram());
    EXPECT_TRUE(Recorder::s_shown.empty()) << "details hidden: nothing is sent";

    g_ShowDetails.Value = 1;
    m_page.m_wndList.SetItemState(1, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    EXPECT_EQ(EntryOf(1), CUiManager::GetInstance()->GetSelectedProgram());
    ASSERT_FALSE(Recorder::s_shown.empty());
    EXPECT_EQ(EntryOf(1), Recorder::s_shown.back());

    // The focus alone moves nothing; the selected row losing its selection leaves no
    // program selected and the details pane empty.
    m_page.m_wndList.SetItemState(0, LVIS_FOCUSED, LVIS_FOCUSED);
    EXPECT_EQ(EntryOf(1), CUiManager::GetInstance()->GetSelectedProgram());
    m_page.m_wndList.SetItemState(1, 0, LVIS_SELECTED);
    EXPECT_TRUE(CUiManager::GetInstance()->GetSelectedProgram() == NULL);
    EXPECT_TRUE(testsupport::PumpUntil([] { return Recorder::s_shown.back() == NULL; }));
    ::DestroyWindow(hPane);
}

TEST_F(PageListTest, CopyJoinsTheSelectedRowsCellsWithCommas)
{
    m_page.RefreshList();
    EXPECT_EQ("", std::string((LPCTSTR)m_page.GetSelectedRowsText()));
    Choose(0);
    std::string expected = "Alpha Suite, Alpha Ltd, 1 234 567, " + Text(0, 3) + ", Frequently\r\n";
    EXPECT_EQ(expected, (LPCTSTR)m_page.GetSelectedRowsText());
    m_page.m_wndList.DeselectAll();
    EXPECT_EQ("", std::string((LPCTSTR)m_page.GetSelectedRowsText()));
}

TEST_F(PageListTest, AnEmptyRefreshLeavesNoSelectedProgram)
{
    m_page.RefreshList();
    Choose(0);
    ASSERT_TRUE(CUiManager::GetInstance()->GetSelectedProgram() != NULL);
    ASSERT_TRUE(testsupport::RegistrySandbox::DeleteTree(HKEY_CURRENT_USER, UninstallKeyPath.substr(0, UninstallKeyPath.size() - 1)));
    m_page.RefreshList();
    EXPECT_EQ(0, Rows());
    // The catalogue freed the entry the mediator named: it must not name it any more.
    EXPECT_TRUE(CUiManager::GetInstance()->GetSelectedProgram() == NULL);
    EXPECT_EQ(0u, CUiManager::GetInstance()->m_nTotalPrograms);
}

// A main window that records the commands it receives.
struct CommandRecorder : public CWnd
{
    std::vector<std::pair<WPARAM, LPARAM>> m_commands;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_COMMAND) {
            m_commands.push_back({wParam, lParam});
            return 0;
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

TEST_F(PageListTest, ADoubleClickAsksTheMainWindowToUninstall)
{
    m_page.RefreshList();
    CommandRecorder main;
    ASSERT_TRUE(main.CreateEx(0, AfxRegisterWndClass(0), "main", WS_POPUP, 0, 0, 1, 1, NULL, NULL));
    CWnd* pSavedMain = AfxGetApp()->m_pMainWnd;
    AfxGetApp()->m_pMainWnd = &main;
    NMITEMACTIVATE nm = {};
    nm.hdr.hwndFrom = m_page.m_wndList.GetSafeHwnd();
    nm.hdr.idFrom = IDC_LIST;
    nm.hdr.code = NM_DBLCLK;
    nm.iItem = 0;
    m_page.SendMessage(WM_NOTIFY, IDC_LIST, (LPARAM)&nm);
    AfxGetApp()->m_pMainWnd = pSavedMain;
    ASSERT_EQ(1u, main.m_commands.size());
    EXPECT_EQ((WPARAM)ID_PROGRAM_UNINSTALL, main.m_commands[0].first);
    EXPECT_EQ(0, main.m_commands[0].second);
    main.DestroyWindow();
}

TEST_F(PageListTest, TheContextMenuHoldsTheProgramCommands)
{
    CExtPopupMenuWnd* pMenu = new CExtPopupMenuWnd;
    ASSERT_TRUE(pMenu->LoadMenu(m_page.GetSafeHwnd(), IDR_MENU_PROGRAM_CONTEXT, true));
    const UINT expected[] = {ID_PROGRAM_UNINSTALL,   ID_PROGRAM_UNINSTALL_QUIET, ID_PROGRAM_MODIFY,
                             ID_PROGRAM_REMOVE_ENTRY, 0,
                             ID_PROGRAM_ADD_TO_GROUP, 0,
                             ID_PROGRAM_OPEN_FOLDER,  ID_PROGRAM_REGISTRY_ENTRY, 0,
                             ID_VIEW_DETAILS};
    ASSERT_EQ((int)(sizeof(expected) / sizeof(expected[0])), pMenu->ItemGetCount());
    for (int i = 0; i < pMenu->ItemGetCount(); ++i) EXPECT_EQ(expected[i], pMenu->ItemGetCmdID(i)) << i;
    EXPECT_EQ(59411u, (UINT)ID_VIEW_DETAILS);
    delete pMenu;
    // The resource itself carries the Details check mark.
    HMENU hMenu = ::LoadMenuA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDR_MENU_PROGRAM_CONTEXT));
    ASSERT_TRUE(hMenu != NULL);
    EXPECT_EQ((UINT)MF_CHECKED, ::GetMenuState(::GetSubMenu(hMenu, 0), ID_VIEW_DETAILS, MF_BYCOMMAND) & MF_CHECKED);
    ::DestroyMenu(hMenu);
}

TEST_F(PageListTest, TheContextMenuTracksAtThePointWithThePageAsReceiver)
{
    m_page.RefreshList();
    m_page.ShowWindow(SW_SHOW);
    ::SetForegroundWindow(m_host.GetSafeHwnd());
    CPoint pt(60, 60);
    m_page.ClientToScreen(&pt);
    m_page.SendMessage(WM_CONTEXTMENU, (WPARAM)m_page.GetSafeHwnd(), MAKELPARAM(pt.x, pt.y));
    ASSERT_TRUE(CExtPopupMenuWnd::IsMenuTracking());
    CExtPopupMenuWnd* pMenu = CExtPopupMenuWnd::GetTrackingMenu();
    ASSERT_TRUE(pMenu != NULL);
    EXPECT_EQ(m_page.GetSafeHwnd(), pMenu->GetCmdReceiverHWND());
    EXPECT_EQ(11, pMenu->ItemGetCount());
    EXPECT_EQ((UINT)ID_PROGRAM_UNINSTALL, pMenu->ItemGetCmdID(0));
    CExtPopupMenuWnd::CancelMenuTracking();
    testsupport::PumpUntil([] { return !CExtPopupMenuWnd::IsMenuTracking(); });
    EXPECT_FALSE(CExtPopupMenuWnd::IsMenuTracking());
}

}  // namespace
