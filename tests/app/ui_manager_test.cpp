// The UI mediator: the ten registered messages by their exact names, the pane each
// operation sends to with its parameters, the group editor's flag, and the program icon
// lookup.
#include "app_test_app.h"
#include "app/input_rule.h"
#include "app/ui_manager.h"
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

struct Sent
{
    HWND hwnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    bool editorOpenDuringHandling;
};
std::vector<Sent> g_sent;

LRESULT CALLBACK RecordingProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message >= 0xC000 && message <= 0xFFFF) {
        g_sent.push_back({hWnd, message, wParam, lParam, CUiManager::GetInstance()->IsGroupEditorOpen()});
        return 0;
    }
    return ::DefWindowProcA(hWnd, message, wParam, lParam);
}

HWND MakePane(const char* name)
{
    static bool s_registered = false;
    if (!s_registered) {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = RecordingProc;
        wc.hInstance = ::GetModuleHandleA(NULL);
        wc.lpszClassName = "PurgeletTestPane";
        ::RegisterClassA(&wc);
        s_registered = true;
    }
    return ::CreateWindowExA(0, "PurgeletTestPane", name, WS_POPUP, 0, 0, 10, 10, NULL, NULL,
                             ::GetModuleHandleA(NULL), NULL);
}

// A recording pane standing in as the application's main window while it lives; the
// main window before it is put back at its end, whatever the test did meanwhile.
class MainWindowStandIn
{
public:
    MainWindowStandIn() : m_pOldMain(TestApp().m_pMainWnd)
    {
        if (m_wnd.Attach(MakePane("main"))) TestApp().m_pMainWnd = &m_wnd;
    }
    ~MainWindowStandIn()
    {
        TestApp().m_pMainWnd = m_pOldMain;
        if (m_wnd.GetSafeHwnd() != NULL) ::DestroyWindow(m_wnd.Detach());
    }
    MainWindowStandIn(const MainWindowStandIn&) = delete;
    MainWindowStandIn& operator=(const MainWindowStandIn&) = delete;
    CWnd& Wnd() { return m_wnd; }

private:
    CWnd* m_pOldMain;
    CWnd m_wnd;
};

class UiManagerTest : public testing::Test
{
protected:
    void SetUp() override
    {
        m_ui = CUiManager::GetInstance();
        m_saved = {m_ui->m_hWndLeftPane, m_ui->m_hWndRightPane, m_ui->m_hWndDetailsPane, m_ui->m_hWndGroupsPage};
        m_ui->m_hWndLeftPane = m_ui->m_hWndRightPane = m_ui->m_hWndDetailsPane = m_ui->m_hWndGroupsPage = NULL;
        ForgetGroupEditor();
        m_left = MakePane("left");
        m_right = MakePane("right");
        m_details = MakePane("details");
        m_groups = MakePane("groups");
        g_sent.clear();
    }
    void TearDown() override
    {
        m_ui->m_hWndLeftPane = m_saved[0];
        m_ui->m_hWndRightPane = m_saved[1];
        m_ui->m_hWndDetailsPane = m_saved[2];
        m_ui->m_hWndGroupsPage = m_saved[3];
        ForgetGroupEditor();
        for (HWND h : {m_left, m_right, m_details, m_groups}) ::DestroyWindow(h);
    }
    void Register()
    {
        m_ui->m_hWndLeftPane = m_left;
        m_ui->m_hWndRightPane = m_right;
        m_ui->m_hWndDetailsPane = m_details;
        m_ui->m_hWndGroupsPage = m_groups;
    }

    CUiManager* m_ui = nullptr;
    std::vector<HWND> m_saved;
    HWND m_left = NULL, m_right = NULL, m_details = NULL, m_groups = NULL;
};

}  // namespace

TEST(UiMessages, EachIsRegisteredUnderItsOwnName)
{
    struct Case
    {
        const char* name;
        UINT id;
    } cases[] = {
        {"g_nMsgShowGroupsBar", g_nMsgShowGroupsBar},
        {"g_nMsgShowDetailsBar", g_nMsgShowDetailsBar},
        {"g_nMsgShowProgramDetails", g_nMsgShowProgramDetails},
        {"g_nMsgShowGroupEditor", g_nMsgShowGroupEditor},
        {"g_nMsgCloseGroupEditor", g_nMsgCloseGroupEditor},
        {"g_nMsgRefreshGroups", g_nMsgRefreshGroups},
        {"g_nMsgRefreshPrograms", g_nMsgRefreshPrograms},
        {"g_nMsgCopySelection", g_nMsgCopySelection},
        {"g_nMsgOptionsChanged", g_nMsgOptionsChanged},
        {"g_nMsgUpdateStatusBar", g_nMsgUpdateStatusBar},
    };
    std::vector<UINT> seen;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_GE(c.id, 0xC000u);
        EXPECT_EQ(::RegisterWindowMessageA(c.name), c.id);
        for (UINT other : seen) EXPECT_NE(other, c.id);
        seen.push_back(c.id);
    }
}

TEST_F(UiManagerTest, EachOperationSendsItsMessageToItsPane)
{
    Register();
    MainWindowStandIn standIn;
    CWnd& mainWnd = standIn.Wnd();
    ASSERT_TRUE(mainWnd.GetSafeHwnd() != NULL);
    int entry = 0;
    ProgramEntry* pEntry = reinterpret_cast<ProgramEntry*>(&entry);

    struct Case
    {
        const char* name;
        std::function<void()> call;
        HWND to;
        UINT message;
        WPARAM wParam;
    } cases[] = {
        {"ShowGroupsBar(true)", [&] { m_ui->ShowGroupsBar(true); }, m_left, g_nMsgShowGroupsBar, 1},
        {"ShowGroupsBar(false)", [&] { m_ui->ShowGroupsBar(false); }, m_left, g_nMsgShowGroupsBar, 0},
        {"ShowDetailsBar(true)", [&] { m_ui->ShowDetailsBar(true); }, m_right, g_nMsgShowDetailsBar, 1},
        {"ShowDetailsBar(false)", [&] { m_ui->ShowDetailsBar(false); }, m_right, g_nMsgShowDetailsBar, 0},
        {"ShowProgramDetails", [&] { m_ui->ShowProgramDetails(pEntry); }, m_details, g_nMsgShowProgramDetails,
         (WPARAM)pEntry},
        // Each opens the editor closed: an open one is first asked whether it holds typing.
        {"ShowGroupEditor(7)", [&] { m_ui->ShowGroupEditor(7); }, m_left, g_nMsgShowGroupEditor, 7},
        {"CloseGroupEditor", [&] { m_ui->CloseGroupEditor(); }, m_left, g_nMsgCloseGroupEditor, 0},
        {"ShowGroupEditor(-1)", [&] { m_ui->ShowGroupEditor(-1); }, m_left, g_nMsgShowGroupEditor, (WPARAM)-1},
        {"CloseGroupEditor again", [&] { m_ui->CloseGroupEditor(); }, m_left, g_nMsgCloseGroupEditor, 0},
        {"RefreshGroups", [&] { m_ui->RefreshGroups(); }, m_groups, g_nMsgRefreshGroups, 0},
        {"RefreshPrograms(false)", [&] { m_ui->RefreshPrograms(false); }, m_right, g_nMsgRefreshPrograms, 0},
        {"RefreshPrograms(true)", [&] { m_ui->RefreshPrograms(true); }, m_right, g_nMsgRefreshPrograms, 1},
        {"CopySelection", [&] { m_ui->CopySelection(); }, m_right, g_nMsgCopySelection, 0},
        {"OptionsChanged", [&] { m_ui->OptionsChanged(); }, m_right, g_nMsgOptionsChanged, 0},
        {"UpdateStatusBar", [&] { m_ui->UpdateStatusBar(); }, mainWnd.GetSafeHwnd(), g_nMsgUpdateStatusBar, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        g_sent.clear();
        c.call();
        // Sent, not posted: handled before the operation returns.
        ASSERT_EQ(1u, g_sent.size());
        EXPECT_EQ(c.to, g_sent[0].hwnd);
        EXPECT_EQ(c.message, g_sent[0].message);
        EXPECT_EQ(c.wParam, g_sent[0].wParam);
        EXPECT_EQ(0, g_sent[0].lParam);
    }
}

TEST_F(UiManagerTest, TheGroupEditorFlagFollowsThePanesHandling)
{
    Register();
    m_ui->ShowGroupEditor(3);
    ASSERT_EQ(1u, g_sent.size());
    EXPECT_FALSE(g_sent[0].editorOpenDuringHandling);
    EXPECT_TRUE(m_ui->IsGroupEditorOpen());

    m_ui->CloseGroupEditor();
    ASSERT_EQ(2u, g_sent.size());
    EXPECT_TRUE(g_sent[1].editorOpenDuringHandling);
    EXPECT_FALSE(m_ui->IsGroupEditorOpen());
}

// While a modal window is up (the main window disabled), the group editor's show and
// close do nothing, so the mediator's flag stays what the screen shows.
TEST_F(UiManagerTest, TheGroupEditorFlagStaysWhileAModalWindowIsUp)
{
    Register();
    MainWindowStandIn standIn;
    CWnd& mainWnd = standIn.Wnd();
    ASSERT_TRUE(mainWnd.GetSafeHwnd() != NULL);
    mainWnd.EnableWindow(FALSE);
    EXPECT_FALSE(CInputRule::TakesCommands());
    m_ui->ShowGroupEditor(3);
    EXPECT_FALSE(m_ui->IsGroupEditorOpen());
    mainWnd.EnableWindow(TRUE);
    EXPECT_TRUE(CInputRule::TakesCommands());
    m_ui->ShowGroupEditor(3);
    ASSERT_TRUE(m_ui->IsGroupEditorOpen());
    mainWnd.EnableWindow(FALSE);
    m_ui->CloseGroupEditor();
    EXPECT_TRUE(m_ui->IsGroupEditorOpen());
    // Only the opening with the window enabled reached the pane.
    ASSERT_EQ(1u, g_sent.size());
    EXPECT_EQ(g_nMsgShowGroupEditor, g_sent[0].message);
    mainWnd.EnableWindow(TRUE);
}

TEST_F(UiManagerTest, WithoutTheRightOrDetailsPaneTheirOperationsDoNothing)
{
    int entry = 0;
    m_ui->RefreshPrograms(false);
    m_ui->CopySelection();
    m_ui->OptionsChanged();
    m_ui->ShowProgramDetails(reinterpret_cast<ProgramEntry*>(&entry));
    EXPECT_TRUE(g_sent.empty());
}

TEST(ProgramIcon, AFileWithoutIconsStoresANullIconThatALaterDefaultLookupDoesNotFind)
{
    CUiManager* ui = CUiManager::GetInstance();
    char path[MAX_PATH] = {0};
    ::GetModuleFileNameA(NULL, path, MAX_PATH);
    // A file name no earlier pass of this process asked for: the cache is the program's
    // own, lives as long as the process and keeps every path it was asked for, so the
    // name of an earlier pass (--gtest_repeat) would already hold the default icon.
    static int s_nPass = 0;
    std::string noIcons = std::string(path) + ".noicons" + std::to_string(++s_nPass) + ".txt";
    HANDLE hFile = ::CreateFileA(noIcons.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
    ASSERT_NE(INVALID_HANDLE_VALUE, hFile);
    ::CloseHandle(hFile);
    int before = ui->m_IconCache.GetCount();

    EXPECT_EQ(nullptr, ui->GetProgramIcon(noIcons.c_str(), 0, false));
    EXPECT_EQ(before + 1, ui->m_IconCache.GetCount());
    HICON hDefault = ui->GetProgramIcon(noIcons.c_str(), 0, true);
    EXPECT_NE(nullptr, hDefault);
    EXPECT_EQ(ui->m_IconCache.GetDefaultIcon(), hDefault);
    EXPECT_EQ(before + 1, ui->m_IconCache.GetCount());
    // Found now: the same icon however it is asked for.
    EXPECT_EQ(hDefault, ui->GetProgramIcon(noIcons.c_str(), 0, false));
    ::DeleteFileA(noIcons.c_str());
}

TEST(ProgramIcon, AnIconIsExtractedOnceAndKeyedByThePathAlone)
{
    CUiManager* ui = CUiManager::GetInstance();
    char system[MAX_PATH] = {0};
    ::GetSystemDirectoryA(system, MAX_PATH);
    std::string shell32 = std::string(system) + "\\shell32.dll";

    HICON hFirst = ui->GetProgramIcon(shell32.c_str(), 0, false);
    ASSERT_NE(nullptr, hFirst);
    EXPECT_NE(ui->m_IconCache.GetDefaultIcon(), hFirst);
    EXPECT_EQ(hFirst, ui->GetProgramIcon(shell32.c_str(), 0, false));
    EXPECT_EQ(hFirst, ui->GetProgramIcon(shell32.c_str(), 3, true));
    ICONINFO info = {};
    ASSERT_TRUE(::GetIconInfo(hFirst, &info));
    BITMAP bm = {};
    ::GetObjectA(info.hbmColor != NULL ? info.hbmColor : info.hbmMask, sizeof(bm), &bm);
    EXPECT_EQ(::GetSystemMetrics(SM_CXSMICON), bm.bmWidth);
    if (info.hbmColor) ::DeleteObject(info.hbmColor);
    if (info.hbmMask) ::DeleteObject(info.hbmMask);
}
