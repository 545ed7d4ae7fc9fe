// The built program started from its file. Started twice in one session: the second copy
// brings the first one's window up (restored from the taskbar), or the box the first one
// shows, and ends without a window of its own and without writing the user's options or
// groups. Started with changes many earlier ends kept: it stores them and runs on.
#include "app/groups_kept.h"
#include "app/purgelet_app.h"
#include "framework/afxres.h"
#include "main_window_fixture.h"
#include "main_window_groups_fixture.h"
#include "owned_box.h"
#include "res/resource.h"
#include <gtest/gtest.h>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

const char kCompanyKey[] = "Software\\Corvalin";
const char kProgramKey[] = "Software\\Corvalin\\Nimbo Purgelet";

std::string ProgramPath()
{
    char path[MAX_PATH] = "";
    ::GetModuleFileNameA(NULL, path, MAX_PATH);
    std::string folder(path);
    folder.erase(folder.find_last_of('\\') + 1);
    return folder + "..\\Purgelet.exe";
}

struct Marked
{
    std::vector<HWND> windows;
};

BOOL CALLBACK NoteMarked(HWND hWnd, LPARAM lParam)
{
    if (::GetPropA(hWnd, "NimboPurgelet.MainWindow") != NULL) ((Marked*)lParam)->windows.push_back(hWnd);
    return TRUE;
}

std::vector<HWND> MarkedWindows()
{
    Marked marked;
    ::EnumWindows(NoteMarked, (LPARAM)&marked);
    return marked.windows;
}

// The box a copy shows with no window of its own, or NULL.
HWND BoxOf(DWORD dwProcessId)
{
    DWORD dwId = 0;
    for (HWND h = NULL; (h = ::FindWindowExA(NULL, h, "#32770", NULL)) != NULL;)
        if (::GetWindowThreadProcessId(h, &dwId) && dwId == dwProcessId && ::IsWindowVisible(h)) return h;
    return NULL;
}

bool KeyExists(const char* subKey)
{
    HKEY hKey = NULL;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, subKey, 0, KEY_READ, &hKey) != ERROR_SUCCESS) return false;
    ::RegCloseKey(hKey);
    return true;
}

// The tick of the last work a copy's main window noted, 0 when none.
DWORD NotedWork(HWND hMain) { return (DWORD)(ULONG_PTR)::GetPropA(hMain, "NimboPurgelet.Working"); }

// nCount programs of the user's own that make the list long, removed with this.
struct LongList
{
    explicit LongList(int nCount) { Grow(nCount); }
    ~LongList()
    {
        for (int i = 0; i < nCount; ++i) ::RegDeleteKeyA(HKEY_CURRENT_USER, Key(i).c_str());
    }
    // Adds nMore entries after those seeded already.
    void Grow(int nMore)
    {
        for (const int nEnd = nCount + nMore; nCount < nEnd && bSeeded; ++nCount)
            bSeeded = testsupport::RegistrySandbox::SetString(HKEY_CURRENT_USER, Key(nCount), "DisplayName", Key(nCount));
    }
    static std::string Key(int i) { return UninstallKeyPath + "Long list " + std::to_string(100000 + i); }
    int nCount = 0;
    bool bSeeded = true;
};

// Waits until the copy of that process id stopped at the step NIMBO_PURGELET_STOP_AT named.
bool StoppedAtItsStep(const std::string& id)
{
    HANDLE hStopped = NULL;
    const bool bStopped = mainwindowtest::PumpUntil(
        [&] {
            if (hStopped == NULL) hStopped = ::OpenEventA(SYNCHRONIZE, FALSE, ("NimboPurgelet.Stopped." + id).c_str());
            return hStopped != NULL && ::WaitForSingleObject(hStopped, 0) == WAIT_OBJECT_0;
        },
        60000);
    if (hStopped != NULL) ::CloseHandle(hStopped);
    return bStopped;
}

// A copy of the program started from its file; ended (bounded) when the test is over.
class Copy
{
public:
    bool Start()
    {
        STARTUPINFOA si = {};
        si.cb = sizeof(si);
        std::string commandLine = "\"" + ProgramPath() + "\"";
        return ::CreateProcessA(NULL, &commandLine[0], NULL, NULL, FALSE, 0, NULL, NULL, &si, &m_pi) != FALSE;
    }
    ~Copy()
    {
        if (m_pi.hProcess == NULL) return;
        if (::WaitForSingleObject(m_pi.hProcess, 0) == WAIT_TIMEOUT) ::TerminateProcess(m_pi.hProcess, 1);
        ::CloseHandle(m_pi.hThread);
        ::CloseHandle(m_pi.hProcess);
    }
    bool Ended(DWORD ms) const { return ::WaitForSingleObject(m_pi.hProcess, ms) == WAIT_OBJECT_0; }
    DWORD ExitCode() const
    {
        DWORD nCode = STILL_ACTIVE;
        ::GetExitCodeProcess(m_pi.hProcess, &nCode);
        return nCode;
    }
    DWORD Id() const { return m_pi.dwProcessId; }
    const PROCESS_INFORMATION& Info() const { return m_pi; }

private:
    PROCESS_INFORMATION m_pi = {};
};

// The real user's options and groups file of the test prefix, put back afterwards; the
// groups file holds one group while the test runs. This test process has run the
// program's start-up before and holds the mutex: the built program's first copy must be
// the one copy, so the process lets it go.
class AppSecondStart : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_NE(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesA(ProgramPath().c_str())) << ProgramPath();
        ASSERT_TRUE(MarkedWindows().empty()) << "a copy of the program is running already";
        if (g_hPurgeletMutex != NULL) {
            ::ReleaseMutex(g_hPurgeletMutex);
            ::CloseHandle(g_hPurgeletMutex);
        }
        g_hPurgeletMutex = NULL;
        m_bHadCompany = KeyExists(kCompanyKey);
        m_bHadProgram = KeyExists(kProgramKey);
        m_strGroups = GetGroupsFilePath();
        m_keptGroups.Keep(m_strGroups);
        std::ofstream(m_strGroups.c_str(), std::ios::binary) << m_strBytes;
        // Changes kept here are kept where the program keeps them.
        TestApp().m_pszRegistryKey = "Corvalin";
        TestApp().m_pszProfileName = "Nimbo Purgelet";
    }
    void TearDown() override
    {
        ::RegDeleteTreeA(HKEY_CURRENT_USER, mainwindowgroupstest::kKeptChangesKey);
        TestApp().m_pszRegistryKey = m_pszKey;
        TestApp().m_pszProfileName = m_pszProfile;
        if (!m_bHadCompany)
            ::RegDeleteTreeA(HKEY_CURRENT_USER, kCompanyKey);
        else if (!m_bHadProgram)
            ::RegDeleteTreeA(HKEY_CURRENT_USER, kProgramKey);
        m_keptGroups.Restore();
    }
    // Starts the first copy and waits until its window shows.
    HWND StartFirst(Copy& first, DWORD dwWaitMs = 60000)
    {
        if (!first.Start()) return NULL;
        HWND hFirst = NULL;
        mainwindowtest::PumpUntil(
            [&] {
                std::vector<HWND> windows = MarkedWindows();
                DWORD pid = 0;
                if (windows.size() == 1) ::GetWindowThreadProcessId(windows[0], &pid);
                hFirst = pid == first.Id() ? windows[0] : NULL;
                return hFirst != NULL && ::IsWindowVisible(hFirst);
            },
            dwWaitMs);
        return hFirst != NULL && ::IsWindowVisible(hFirst) ? hFirst : NULL;
    }

    // Starts the first copy with its write to stop at `step` (NIMBO_PURGELET_STOP_AT) and
    // waits until it stopped there: its window, or NULL (the reason in a failure).
    HWND StartStoppedAt(Copy& copy, const char* step)
    {
        ::SetEnvironmentVariableA("NIMBO_PURGELET_STOP_AT", step);
        const HWND hWnd = StartFirst(copy);
        ::SetEnvironmentVariableA("NIMBO_PURGELET_STOP_AT", NULL);
        EXPECT_TRUE(hWnd != NULL) << "ended by itself: " << copy.Ended(0) << ", exit code " << copy.ExitCode();
        return hWnd != NULL && StoppedAtItsStep(std::to_string(copy.Id())) ? hWnd : NULL;
    }

    // This copy (B) starts afresh: it reads the file and stores what earlier ends kept, and
    // answers the box that says so ("" without one).
    static std::string StartB()
    {
        CGroupManager* pGroups = CGroupManager::GetInstance();
        for (; pGroups->m_Groups.size() > 1; pGroups->m_Groups.pop_back()) delete pGroups->m_Groups.back();
        pGroups->m_pCurrentGroup = NULL;
        return mainwindowgroupstest::LoadGroupsFileAndStoreKept();
    }
    // The box of a start that stored what earlier ends kept.
    std::string StoredText() const
    {
        return "The groups file\r\n\r\n" + m_strGroups + "\r\n\r\n" + mainwindowgroupstest::kNowHolds;
    }

    // The second start says in its box that the first copy does not respond, and ends with
    // its own code once the box is answered.
    void ExpectNotRespondingBox(Copy& second)
    {
        HWND hBox = NULL;
        ASSERT_TRUE(mainwindowtest::PumpUntil([&] { return (hBox = BoxOf(second.Id())) || second.Ended(0); }, 60000));
        ASSERT_TRUE(hBox != NULL) << "ended without a word, exit code " << second.ExitCode();
        char szText[512] = "";
        ::GetDlgItemTextA(hBox, 0xFFFF, szText, sizeof(szText));
        EXPECT_EQ(RunningCopyNotRespondingText(), szText);
        ::PostMessageA(hBox, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        EXPECT_TRUE(second.Ended(30000));
        EXPECT_EQ((DWORD)kRunningCopyHangsExitCode, second.ExitCode());
    }

    const std::string m_strBytes =
        "<?xml version=\"1.0\"?>\n<NimboPurgelet Version=\"1.1\">\n<Purgelet>\n<Group Id=\"2\" Name=\"Kept\">\n"
        "<Keyword>kept</Keyword>\n</Group>\n</Purgelet>\n</NimboPurgelet>\n";
    std::string m_strGroups;
    mainwindowtest::KeptFile m_keptGroups;
    bool m_bHadCompany = false, m_bHadProgram = false;
    LPCTSTR m_pszKey = TestApp().m_pszRegistryKey, m_pszProfile = TestApp().m_pszProfileName;
};

}  // namespace

TEST_F(AppSecondStart, TheProgramStartedTwiceKeepsOneWindowAndTheSecondCopyWritesNothing)
{
    Copy first;
    const HWND hFirst = StartFirst(first);
    ASSERT_TRUE(hFirst != NULL);
    ::ShowWindow(hFirst, SW_MINIMIZE);
    ASSERT_TRUE(mainwindowtest::PumpUntil([&] { return ::IsIconic(hFirst) != FALSE; }, 10000));
    const std::map<std::string, std::string> options = mainwindowtest::StoredOptions();

    Copy second;
    ASSERT_TRUE(second.Start());
    EXPECT_TRUE(second.Ended(60000)) << "the second copy ends by itself";
    EXPECT_TRUE(mainwindowtest::PumpUntil([&] { return !::IsIconic(hFirst); }, 10000)) << "restored";
    EXPECT_EQ(std::vector<HWND>{hFirst}, MarkedWindows());
    EXPECT_FALSE(first.Ended(0));
    EXPECT_EQ(options, mainwindowtest::StoredOptions());
    EXPECT_EQ(m_strBytes, mainwindowtest::ReadFile(m_strGroups));

    // The first copy closes as the user closes it; it changed no group either.
    ::PostMessageA(hFirst, WM_COMMAND, ID_APP_EXIT, 0);
    EXPECT_TRUE(first.Ended(30000));
    EXPECT_EQ(m_strBytes, mainwindowtest::ReadFile(m_strGroups));
}

// The first copy shows a box (its About dialog) and another window is in front, with the
// first copy's window left as it is or minimised: the second start brings the box to
// the front, over its restored window, not the window the box disables.
TEST_F(AppSecondStart, ASecondStartBringsTheBoxTheFirstCopyShowsToTheFront)
{
    Copy first;
    const HWND hFirst = StartFirst(first);
    ASSERT_TRUE(hFirst != NULL);
    CWnd other;
    ASSERT_TRUE(other.CreateEx(0, AfxRegisterWndClass(0), "in front", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40, 300,
                               200, NULL, NULL));
    for (bool bMinimised : {false, true}) {
        SCOPED_TRACE(bMinimised ? "minimised" : "as it was");
        ::PostMessageA(hFirst, WM_COMMAND, ID_APP_ABOUT, 0);
        HWND hBox = NULL;
        // The box is up once it has taken the front: it shows before it is activated, and
        // on a busy machine its activation could come after the other window was put in
        // front and take the front back from it.
        ASSERT_TRUE(mainwindowtest::PumpUntil(
            [&] {
                return (hBox = ownedbox::FindOpenBox(hFirst)) != NULL && !::IsWindowEnabled(hFirst) &&
                       ::GetForegroundWindow() == hBox;
            },
            30000));
        if (bMinimised) {
            ::ShowWindow(hFirst, SW_MINIMIZE);
            ASSERT_TRUE(mainwindowtest::PumpUntil([&] { return ::IsIconic(hFirst) != FALSE; }, 10000));
        }
        ::SetForegroundWindow(other.GetSafeHwnd());
        ASSERT_TRUE(mainwindowtest::PumpUntil([&] { return ::GetForegroundWindow() == other.GetSafeHwnd(); }));

        Copy second;
        ASSERT_TRUE(second.Start());
        EXPECT_TRUE(second.Ended(60000)) << "the second copy ends by itself";
        EXPECT_TRUE(mainwindowtest::PumpUntil([&] { return ::GetForegroundWindow() == hBox; }, 10000))
            << "in front: " << ::GetForegroundWindow() << ", the box " << hBox << ", the window " << hFirst;
        EXPECT_TRUE(mainwindowtest::PumpUntil([&] { return !::IsIconic(hFirst) && ::IsWindowVisible(hBox); }, 10000));
        EXPECT_EQ(std::vector<HWND>{hFirst}, MarkedWindows());

        ::PostMessageA(hBox, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        ASSERT_TRUE(mainwindowtest::PumpUntil([&] { return ::IsWindowEnabled(hFirst) != FALSE; }, 10000));
    }
    other.DestroyWindow();
    ::PostMessageA(hFirst, WM_COMMAND, ID_APP_EXIT, 0);
    EXPECT_TRUE(first.Ended(30000));
    EXPECT_EQ(m_strBytes, mainwindowtest::ReadFile(m_strGroups));
}

// Twenty ends kept a keyword each for one group (as twenty ends on a held file would): the
// built program, started, stores them all in one box and runs on until the user closes it,
// with an exit code that says all went well.
TEST_F(AppSecondStart, AStartWithTwentyKeptRecordsStoresThemWithOneBoxAndRunsUntilClosed)
{
    GroupEntry base;
    base.Id = 2;
    base.Name = "Kept";
    base.Keywords = {"kept"};
    for (int k = 0; k < 20; ++k) {
        GroupEntry here = base;
        here.Keywords.push_back("k" + std::to_string(k));
        char name[64];
        sprintf(name, "Groups 01D0000000%06X 00000001", k);
        std::string record = name;
        ASSERT_TRUE(KeepGroupChanges(GroupChangesBetween({base}, {here}, {}, {}), &record));
    }
    ASSERT_EQ(20u, KeptRecordNames().size());

    Copy copy;
    const HWND hMain = StartFirst(copy);
    ASSERT_TRUE(hMain != NULL) << "ended by itself: " << copy.Ended(0) << ", exit code " << copy.ExitCode();
    HWND hBox = NULL;
    ASSERT_TRUE(mainwindowtest::PumpUntil([&] { return copy.Ended(0) || (hBox = ownedbox::FindOpenBox(hMain)); },
                                          120000));
    ASSERT_FALSE(copy.Ended(0)) << "ended by itself before its box, exit code " << copy.ExitCode();
    char szText[1024] = "";
    ::GetDlgItemTextA(hBox, 0xFFFF, szText, sizeof(szText));
    EXPECT_EQ("The groups file\r\n\r\n" + m_strGroups + "\r\n\r\n" + mainwindowgroupstest::kNowHolds,
              std::string(szText));
    // The file's own declaration gives way to the writer's (its bytes are UTF-8).
    std::string expected = m_strBytes;
    expected.replace(0, expected.find('\n'), "<?xml version=\"1.0\" encoding=\"utf-8\"?>");
    std::string keywords = "<Keyword>kept</Keyword>\n";
    for (int k = 0; k < 20; ++k) keywords += "<Keyword>k" + std::to_string(k) + "</Keyword>\n";
    expected.replace(expected.find("<Keyword>kept</Keyword>\n"), 24, keywords);
    EXPECT_EQ(expected, mainwindowtest::ReadFile(m_strGroups));
    EXPECT_TRUE(KeptRecordNames().empty());

    ::PostMessageA(hBox, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    ASSERT_TRUE(mainwindowtest::PumpUntil([&] { return copy.Ended(0) || ::IsWindowEnabled(hMain); }, 30000));
    ASSERT_FALSE(copy.Ended(0)) << "ended by itself after its box, exit code " << copy.ExitCode();
    ::PostMessageA(hMain, WM_COMMAND, ID_APP_EXIT, 0);
    ASSERT_TRUE(copy.Ended(30000));
    EXPECT_EQ(0u, copy.ExitCode());
    EXPECT_EQ(expected, mainwindowtest::ReadFile(m_strGroups));
}

// The first copy's window shown but taking no messages (its thread suspended, or the whole
// copy stopped): a second start says so in a box within seconds, long before the patience
// a window gets to show, and ends with its own code. The first copy runs on once let go.
TEST_F(AppSecondStart, AStartBehindACopyThatDoesNotRespondSaysSoAndEndsWithItsOwnCode)
{
    Copy first;
    const HWND hFirst = StartFirst(first);
    ASSERT_TRUE(hFirst != NULL);
    const auto nt = [&](const char* name) {
        const FARPROC pCall = ::GetProcAddress(::GetModuleHandleA("ntdll.dll"), name);
        return ((LONG(WINAPI*)(HANDLE))(void*)pCall)(first.Info().hProcess);
    };
    for (bool bStopped : {false, true}) {
        SCOPED_TRACE(bStopped ? "the copy stopped" : "its thread suspended");
        bStopped ? (DWORD)nt("NtSuspendProcess") : ::SuspendThread(first.Info().hThread);
        Copy second;
        ASSERT_TRUE(second.Start());
        ExpectNotRespondingBox(second);
        bStopped ? (DWORD)nt("NtResumeProcess") : ::ResumeThread(first.Info().hThread);
        DWORD_PTR dwAnswer = 0;
        EXPECT_NE(0, ::SendMessageTimeoutA(hFirst, WM_NULL, 0, 0, SMTO_NORMAL, 30000, &dwAnswer)) << "runs on";
    }
    ::PostMessageA(hFirst, WM_COMMAND, ID_APP_EXIT, 0);
    EXPECT_TRUE(first.Ended(30000));
    EXPECT_EQ(m_strBytes, mainwindowtest::ReadFile(m_strGroups));
}

// The first copy reads a long list again (F5) and takes no messages until it is through: a
// second start waits for it, brings it up (restored from the taskbar) once it is free, and
// ends with code 0 and no box. Its thread suspended in the midst of that work, the copy
// notes no more work, and the start says it does not respond, with its own code.
TEST_F(AppSecondStart, AStartWhileTheRunningCopyReadsALongListBringsItUpOnceItIsFree)
{
    LongList list(40000);
    ASSERT_TRUE(list.bSeeded);
    Copy first;
    const HWND hFirst = StartFirst(first, 300000);
    ASSERT_TRUE(hFirst != NULL);
    // A machine that reads the list faster than a start waits for a silent window proves
    // nothing with it: the list grows (twice at most) until the work outlasts that wait.
    for (int nRound = 0; nRound < 4; ++nRound) {
        const bool bSuspended = nRound == 3;
        SCOPED_TRACE(bSuspended ? "its thread suspended at work" : "at work, " + std::to_string(list.nCount) + " entries");
        ::ShowWindow(hFirst, SW_MINIMIZE);
        ASSERT_TRUE(mainwindowtest::PumpUntil([&] { return ::IsIconic(hFirst) != FALSE; }, 10000));
        const DWORD dwNoted = NotedWork(hFirst);
        ::PostMessageA(hFirst, WM_COMMAND, ID_VIEW_REFRESH, 0);
        ASSERT_TRUE(mainwindowtest::PumpUntil([&] { return NotedWork(hFirst) != dwNoted; }, 60000));
        if (bSuspended) ::SuspendThread(first.Info().hThread);
        const DWORD dwStarted = ::GetTickCount();
        Copy second;
        ASSERT_TRUE(second.Start());
        if (bSuspended) {
            ExpectNotRespondingBox(second);
            ::ResumeThread(first.Info().hThread);
            continue;
        }
        HWND hBox = NULL;
        ASSERT_TRUE(mainwindowtest::PumpUntil([&] { return (hBox = BoxOf(second.Id())) || second.Ended(0); }, 300000));
        EXPECT_TRUE(hBox == NULL && second.ExitCode() == 0) << "a box, exit code " << second.ExitCode();
        EXPECT_TRUE(mainwindowtest::PumpUntil([&] { return !::IsIconic(hFirst); }, 10000)) << "restored";
        // The work went on well past the time a start gives a silent window: a start that
        // did not wait for it would have given up.
        if ((LONG)(NotedWork(hFirst) - dwStarted) >= (LONG)(kRunningCopyAnswerWait + 2000)) {
            nRound = 2;
            continue;
        }
        ASSERT_LT(nRound, 2) << "the list was read too fast to tell, at " << list.nCount << " entries";
        list.Grow(list.nCount);
        ASSERT_TRUE(list.bSeeded);
    }
    DWORD_PTR dwAnswer = 0;
    EXPECT_NE(0, ::SendMessageTimeoutA(hFirst, WM_NULL, 0, 0, SMTO_NORMAL, 300000, &dwAnswer)) << "runs on";
    ::PostMessageA(hFirst, WM_COMMAND, ID_APP_EXIT, 0);
    EXPECT_TRUE(first.Ended(60000));
    EXPECT_EQ(m_strBytes, mainwindowtest::ReadFile(m_strGroups));
}

namespace {

// The files beside the groups file, and the values of the kept changes' section: what a
// copy half-way through a write leaves there.
std::string LeftByAWrite(const std::string& groups)
{
    std::string left;
    WIN32_FIND_DATAA found;
    HANDLE hSearch = ::FindFirstFileA((groups + ".~*").c_str(), &found);
    for (BOOL bMore = hSearch != INVALID_HANDLE_VALUE; bMore; bMore = ::FindNextFileA(hSearch, &found))
        left += std::string(found.cFileName) + " " + std::to_string(found.nFileSizeLow) + "\n";
    if (hSearch != INVALID_HANDLE_VALUE) ::FindClose(hSearch);
    for (const auto& value : mainwindowtest::StoredValues(mainwindowgroupstest::kKeptChangesKey))
        left += value.first + " " + std::to_string(value.second.size()) + "\n";
    return left;
}

// Lets the copy stopped at its step go on.
bool GoOn(const std::string& id)
{
    HANDLE hGoOn = ::OpenEventA(EVENT_MODIFY_STATE, FALSE, ("NimboPurgelet.GoOn." + id).c_str());
    const bool bSet = hGoOn != NULL && ::SetEvent(hGoOn);
    if (hGoOn != NULL) ::CloseHandle(hGoOn);
    return bSet;
}

// Keeps, as an end on a held file would, the keyword `keyword` added to the group "Kept",
// under a record named by `nOrder`.
bool KeepKeyword(const std::string& keyword, int nOrder)
{
    GroupEntry base;
    base.Id = 2;
    base.Name = "Kept";
    base.Keywords = {"kept"};
    GroupEntry here = base;
    here.Keywords.push_back(keyword);
    std::string record = "Groups 01D000000000000" + std::to_string(nOrder) + " 00000001";
    return KeepGroupChanges(GroupChangesBetween({base}, {here}, {}, {}), &record);
}

}  // namespace

// Two copies of one user on one groups file and one key. A, the built program, stores the
// two records earlier ends kept and stops in the middle of that write: once it noted the
// write beside the records, or once the file took its name. B, this process's store, starts
// meanwhile: it neither reads nor removes anything A is half-way through, and waits. Then A
// dies there, or goes on. Every change is stored once, in the order kept, with its box (B's
// when A died before its write took the name), and B's own change goes on top of them.
TEST_F(AppSecondStart, AStartWaitsForAnotherCopysWriteAndEveryKeptChangeIsStoredOnce)
{
    const struct
    {
        const char* step;
        bool bDies;
    } cases[] = {{"noted", true}, {"noted", false}, {"stored", true}, {"stored", false}};
    CGroupManager* pGroups = CGroupManager::GetInstance();
    const std::string stored = StoredText();
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string("A stopped once ") + c.step + (c.bDies ? ", then dies" : ", then goes on"));
        std::ofstream(m_strGroups.c_str(), std::ios::binary) << m_strBytes;
        for (int k = 1; k <= 2; ++k) ASSERT_TRUE(KeepKeyword("k" + std::to_string(k), k));
        Copy a;
        const HWND hA = StartStoppedAt(a, c.step);
        ASSERT_TRUE(hA != NULL);
        const std::string id = std::to_string(a.Id());
        const std::string left = LeftByAWrite(m_strGroups);

        EXPECT_EQ("", StartB());
        EXPECT_FALSE(CGroupsStore::Instance().GroupsMayChange()) << "B read the file while A wrote it";
        EXPECT_EQ(left, LeftByAWrite(m_strGroups)) << "B touched what A is half-way through";

        if (c.bDies) {
            ::TerminateProcess(a.Info().hProcess, 1);
            ASSERT_TRUE(a.Ended(30000));
        } else {
            ASSERT_TRUE(GoOn(id));
            HWND hBox = NULL;
            ASSERT_TRUE(mainwindowtest::PumpUntil([&] { return (hBox = ownedbox::FindOpenBox(hA)) != NULL; }, 60000));
            char szText[1024] = "";
            ::GetDlgItemTextA(hBox, 0xFFFF, szText, sizeof(szText));
            EXPECT_EQ(stored, std::string(szText));
            ::PostMessageA(hBox, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
            ASSERT_TRUE(mainwindowtest::PumpUntil([&] { return ::IsWindowEnabled(hA) != FALSE; }, 30000));
            ::PostMessageA(hA, WM_COMMAND, ID_APP_EXIT, 0);
            ASSERT_TRUE(a.Ended(30000));
        }
        EXPECT_EQ(c.bDies && c.step == std::string("noted") ? stored : "", StartB());
        EXPECT_TRUE(CGroupsStore::Instance().GroupsMayChange());
        pGroups->FindGroup(2)->AddKeyword("kb");
        EXPECT_TRUE(SaveGroupsFile(false));
        SaveGroupsFileAtExit();
        std::string expected = m_strBytes;
        expected.replace(0, expected.find('\n'), "<?xml version=\"1.0\" encoding=\"utf-8\"?>");
        expected.replace(expected.find("</Keyword>\n") + 11, 0,
                         "<Keyword>k1</Keyword>\n<Keyword>k2</Keyword>\n<Keyword>kb</Keyword>\n");
        EXPECT_EQ(expected, mainwindowtest::ReadFile(m_strGroups));
        EXPECT_EQ("", StartB()) << "a change stored twice";
        EXPECT_EQ(expected, mainwindowtest::ReadFile(m_strGroups));
        EXPECT_TRUE(KeptRecordNames().empty());
        EXPECT_EQ("", LeftByAWrite(m_strGroups));
    }
}

// B runs; A, the built program, stores the two records earlier ends kept and dies in the
// middle of that write: once it noted the write, once it set the user's file aside, once
// its new file took the name (the old one still beside it), or once the old one went. B
// then saves a change of its own (Apply), ends with it (the exit's save) or the session
// ends, before any start. Whichever step of B takes the turn A left first puts right what
// A left: the next start stores every kept change exactly once, in the order kept, with
// its box where A's write did not get there.
TEST_F(AppSecondStart, WhoeverTakesTheTurnADeathLeftPutsRightWhatItLeftBeforeAnyWrite)
{
    enum Then
    {
        Apply,
        Exit,
        SessionEnd
    };
    const struct
    {
        const char* step;
        Then then;
        bool bToldAtTheNextStart;
        const char* keywords;  // as the file holds them in the end
    } cases[] = {
        {"noted", Apply, true, "kept kb k1 k2"},       {"set aside", Apply, true, "kept kb k1 k2"},
        {"set aside", Exit, true, "kept kb k1 k2"},    {"set aside", SessionEnd, true, "kept k1 k2 kb"},
        {"moved in", Apply, false, "kept k1 k2 kb"},   {"stored", Apply, false, "kept k1 k2 kb"},
        {"stored", SessionEnd, true, "kept k1 k2 kb"},
    };
    CGroupManager* pGroups = CGroupManager::GetInstance();
    const std::string stored = StoredText();
    static const char* const kThen[] = {"applies", "exits", "ends the session"};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string("A dies once ") + c.step + ", then B " + kThen[c.then]);
        std::ofstream(m_strGroups.c_str(), std::ios::binary) << m_strBytes;
        ASSERT_EQ("", StartB());
        for (int k = 1; k <= 2; ++k) ASSERT_TRUE(KeepKeyword("k" + std::to_string(k), k));
        Copy a;
        ASSERT_TRUE(StartStoppedAt(a, c.step) != NULL);
        ::TerminateProcess(a.Info().hProcess, 1);
        ASSERT_TRUE(a.Ended(30000));

        pGroups->FindGroup(2)->AddKeyword("kb");
        if (c.then == Apply) {
            EXPECT_TRUE(SaveGroupsFile(false));
        } else if (c.then == Exit) {
            SaveGroupsFileAtExit();
        } else {
            CGroupsStore::Instance().EndSession();
        }
        EXPECT_EQ(c.bToldAtTheNextStart ? stored : "", StartB());
        std::string expected = m_strBytes, keywords;
        expected.replace(0, expected.find('\n'), "<?xml version=\"1.0\" encoding=\"utf-8\"?>");
        for (std::istringstream words(c.keywords); words >> keywords;)
            expected.insert(expected.find("</Group>"), "<Keyword>" + keywords + "</Keyword>\n");
        expected.erase(expected.find("<Keyword>kept</Keyword>\n"), 24);
        EXPECT_EQ(expected, mainwindowtest::ReadFile(m_strGroups));
        EXPECT_EQ("", StartB()) << "a change stored twice";
        EXPECT_EQ(expected, mainwindowtest::ReadFile(m_strGroups));
        EXPECT_TRUE(KeptRecordNames().empty());
        EXPECT_EQ("", LeftByAWrite(m_strGroups));
    }
}

// The first copy in the middle of a write of the groups file that blocks on the system (a
// slow disk, a network share: here it stops once it noted the write, until let go) takes no
// messages meanwhile, but its work is noted: a second start waits for it, well past the time
// it gives a silent window, brings up the box the first copy shows once the write is through,
// and ends with code 0 and no box of its own.
TEST_F(AppSecondStart, AStartWhileTheRunningCopyIsHeldUpInAWriteWaitsForIt)
{
    ASSERT_TRUE(KeepKeyword("k1", 1));
    Copy first;
    const HWND hFirst = StartStoppedAt(first, "noted");
    ASSERT_TRUE(hFirst != NULL);
    const std::string id = std::to_string(first.Id());
    const DWORD dwStarted = ::GetTickCount();
    Copy second;
    ASSERT_TRUE(second.Start());
    // Held up until its notes went on for three times what a silent window gets after the
    // second start was made (a loaded machine may take seconds to start it).
    ASSERT_TRUE(mainwindowtest::PumpUntil(
        [&] {
            return BoxOf(second.Id()) != NULL || second.Ended(0) ||
                   (LONG)(NotedWork(hFirst) - dwStarted) >= (LONG)(3 * kRunningCopyAnswerWait);
        },
        120000));
    EXPECT_TRUE(BoxOf(second.Id()) == NULL && !second.Ended(0)) << "exit code " << second.ExitCode();
    ASSERT_TRUE(GoOn(id));
    EXPECT_TRUE(second.Ended(120000));
    EXPECT_EQ(0u, second.ExitCode());
    HWND hBox = NULL;
    ASSERT_TRUE(mainwindowtest::PumpUntil([&] { return (hBox = ownedbox::FindOpenBox(hFirst)) != NULL; }, 60000));
    ::PostMessageA(hBox, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    ASSERT_TRUE(mainwindowtest::PumpUntil([&] { return ::IsWindowEnabled(hFirst) != FALSE; }, 30000));
    ::PostMessageA(hFirst, WM_COMMAND, ID_APP_EXIT, 0);
    EXPECT_TRUE(first.Ended(30000));
}
