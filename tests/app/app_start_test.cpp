// Start-up of the application object: toolkit set-up, registry key and profile name,
// the mutex, the main dialog's turn and the accelerators of the message filter.
#include "app_test_app.h"
#include "main_window_fixture.h"
#include "toolkit/core/cmd_manager.h"
#include "toolkit/theme/paint_manager.h"
#include "toolkit/menus/popup_base_wnd.h"
#include "toolkit/menus/popup_menu_wnd.h"
#include "support/registry_sandbox.h"
#include <gtest/gtest.h>
#include <string.h>
#include <atomic>
#include <functional>
#include <thread>

using testsupport::RegistrySandbox;

namespace {

// Puts the application's registry key and profile name back after a test changed them.
class AppNamesGuard
{
public:
    AppNamesGuard()
        : m_key(TestApp().m_pszRegistryKey ? TestApp().m_pszRegistryKey : ""),
          m_hadKey(TestApp().m_pszRegistryKey != NULL),
          m_profile(TestApp().m_pszProfileName ? TestApp().m_pszProfileName : ""),
          m_hadProfile(TestApp().m_pszProfileName != NULL)
    {
    }
    ~AppNamesGuard()
    {
        CWinApp& app = TestApp();
        free(const_cast<LPTSTR>(app.m_pszRegistryKey));
        app.m_pszRegistryKey = m_hadKey ? _strdup(m_key.c_str()) : NULL;
        free(const_cast<LPTSTR>(app.m_pszProfileName));
        app.m_pszProfileName = m_hadProfile ? _strdup(m_profile.c_str()) : NULL;
    }

private:
    std::string m_key;
    bool m_hadKey;
    std::string m_profile;
    bool m_hadProfile;
};

// HKEY_CURRENT_USER redirected into the sandbox's "hkcu", which holds an empty Software
// key as a user's hive does.
testing::AssertionResult RedirectUserKeysWithSoftware(RegistrySandbox& sandbox)
{
    HKEY hSoftware = NULL;
    const LONG result = ::RegCreateKeyExA(sandbox.Root(), "hkcu\\Software", 0, NULL, 0, KEY_ALL_ACCESS, NULL,
                                          &hSoftware, NULL);
    if (result != ERROR_SUCCESS) return testing::AssertionFailure() << "hkcu\\Software not made: " << result;
    ::RegCloseKey(hSoftware);
    if (!sandbox.Override(HKEY_CURRENT_USER, "hkcu")) return testing::AssertionFailure() << "not redirected";
    return testing::AssertionSuccess();
}

std::string ReadString(HKEY root, const std::string& subKey, const char* name)
{
    HKEY hKey = NULL;
    if (::RegOpenKeyExA(root, subKey.c_str(), 0, KEY_READ, &hKey) != ERROR_SUCCESS) return "<no key>";
    char buffer[256] = {0};
    DWORD size = sizeof(buffer) - 1, type = 0;
    LONG result = ::RegQueryValueExA(hKey, name, NULL, &type, (LPBYTE)buffer, &size);
    ::RegCloseKey(hKey);
    return result == ERROR_SUCCESS ? std::string(buffer) : "<no value>";
}

}  // namespace

TEST(AppStartup, InitInstanceSetsUpToolkitProfileAndKeysThenRunsTheMainDialog)
{
    CExtPopupBaseWnd::g_nDefaultAnimation = 4;
    CExtPopupMenuWnd::g_bHideRarelyUsedItems = true;
    CExtPopupMenuWnd::g_bHighlightRarelyUsed = true;
    CExtPopupMenuWnd::g_bShowMenuTips = true;
    CExtPopupMenuWnd::g_bExpandAnimation = true;
    CExtPopupMenuWnd::g_bUseWorkArea = false;
    RegistrySandbox sandbox;
    ASSERT_TRUE(RedirectUserKeysWithSoftware(sandbox));
    AppNamesGuard names;
    int runsBefore = TestApp().m_nMainDialogRuns;

    EXPECT_FALSE(TestApp().InitInstance());

    EXPECT_EQ(runsBefore + 1, TestApp().m_nMainDialogRuns);
    EXPECT_NE(nullptr, g_CommandManager->ProfileGetPtr("Purgelet-command-manager-profile"));
    ASSERT_NE(nullptr, g_CurrentPaintManager.GetPM());
    EXPECT_TRUE(g_CurrentPaintManager.GetPM()->IsKindOf(RUNTIME_CLASS(CExtPaintManagerStudio2005)));
    EXPECT_EQ(0, CExtPopupBaseWnd::g_nDefaultAnimation);
    EXPECT_FALSE(CExtPopupMenuWnd::g_bHideRarelyUsedItems);
    EXPECT_FALSE(CExtPopupMenuWnd::g_bHighlightRarelyUsed);
    EXPECT_FALSE(CExtPopupMenuWnd::g_bShowMenuTips);
    EXPECT_FALSE(CExtPopupMenuWnd::g_bExpandAnimation);
    EXPECT_TRUE(CExtPopupMenuWnd::g_bUseWorkArea);
    EXPECT_STREQ("Corvalin", TestApp().m_pszRegistryKey);
    EXPECT_STREQ("Nimbo Purgelet", TestApp().m_pszProfileName);

    // The options land under HKCU\Software\Corvalin\Nimbo Purgelet, section "Nimbo Purgelet".
    EXPECT_TRUE(TestApp().WriteProfileString("Nimbo Purgelet", "SizeType", "2"));
    EXPECT_EQ("2", ReadString(HKEY_CURRENT_USER, "Software\\Corvalin\\Nimbo Purgelet\\Nimbo Purgelet", "SizeType"));
    EXPECT_EQ("2", ReadString(sandbox.Root(), "hkcu\\Software\\Corvalin\\Nimbo Purgelet\\Nimbo Purgelet", "SizeType"));
}

TEST(AppStartup, TheMutexIsHeldWhileTheProgramRunsAndTheSameProcessMayStartAgain)
{
    RegistrySandbox sandbox;
    ASSERT_TRUE(sandbox.Override(HKEY_CURRENT_USER, "hkcu"));
    AppNamesGuard names;

    EXPECT_FALSE(TestApp().InitInstance());
    ASSERT_NE(nullptr, g_hPurgeletMutex);
    HANDLE hOpen = ::OpenMutexA(SYNCHRONIZE, FALSE, "Mutex_NimboPurgelet");
    EXPECT_NE(nullptr, hOpen);
    if (hOpen != NULL) ::CloseHandle(hOpen);

    // The mutex this process holds is its own: it is the one copy still.
    HANDLE hHeld = g_hPurgeletMutex;
    int runsBefore = TestApp().m_nMainDialogRuns;
    EXPECT_FALSE(TestApp().InitInstance());
    EXPECT_EQ(runsBefore + 1, TestApp().m_nMainDialogRuns);
    EXPECT_EQ(hHeld, g_hPurgeletMutex);
}

namespace {

// A stand-in for the main window of a copy of the program already running: marked as
// the program marks its own, and minimised.
class RunningCopy
{
public:
    RunningCopy()
    {
        m_hOwnMutex = g_hPurgeletMutex;
        g_hPurgeletMutex = NULL;
        m_hOtherMutex = ::CreateMutexA(NULL, FALSE, "Mutex_NimboPurgelet");
        m_wnd.CreateEx(0, AfxRegisterWndClass(0), "running copy", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 300,
                       200, NULL, NULL);
        MarkMainWindow(m_wnd.GetSafeHwnd(), true);
    }
    ~RunningCopy()
    {
        MarkMainWindow(m_wnd.GetSafeHwnd(), false);
        m_wnd.DestroyWindow();
        if (m_hOtherMutex != NULL) ::CloseHandle(m_hOtherMutex);
        g_hPurgeletMutex = m_hOwnMutex;
    }
    HWND Window() const { return m_wnd.GetSafeHwnd(); }

private:
    HANDLE m_hOwnMutex = NULL, m_hOtherMutex = NULL;
    CWnd m_wnd;
};

}  // namespace

TEST(AppStartup, ASecondCopyBringsTheRunningWindowUpAndEndsWithoutWritingAnything)
{
    RegistrySandbox sandbox;
    ASSERT_TRUE(RedirectUserKeysWithSoftware(sandbox));
    AppNamesGuard names;
    // The user's groups file, whose bytes the second copy must leave alone.
    const std::string strPath = GetGroupsFilePath();
    mainwindowtest::KeptFile kept;
    kept.Keep(strPath);
    const std::string strBytes = "<NimboPurgelet><Purgelet><Group Name=\"Kept\"/></Purgelet>";
    std::ofstream(strPath.c_str(), std::ios::binary) << strBytes;

    {
        RunningCopy running;
        ASSERT_NE(nullptr, running.Window());
        ::ShowWindow(running.Window(), SW_MINIMIZE);
        ASSERT_TRUE(mainwindowtest::PumpUntil([&] { return ::IsIconic(running.Window()) != FALSE; }));
        ::SetForegroundWindow(::GetDesktopWindow());
        CExtPopupBaseWnd::g_nDefaultAnimation = 4;
        const int runsBefore = TestApp().m_nMainDialogRuns;

        EXPECT_FALSE(TestApp().InitInstance());

        EXPECT_EQ(runsBefore, TestApp().m_nMainDialogRuns) << "no main dialog";
        EXPECT_EQ(nullptr, g_hPurgeletMutex) << "the mutex stays the running copy's";
        EXPECT_EQ(4, CExtPopupBaseWnd::g_nDefaultAnimation) << "nothing set up";
        EXPECT_TRUE(mainwindowtest::PumpUntil([&] { return !::IsIconic(running.Window()); })) << "restored";
        EXPECT_TRUE(mainwindowtest::PumpUntil([&] { return ::GetForegroundWindow() == running.Window(); }));
        EXPECT_TRUE(::IsWindowVisible(running.Window()));
    }
    // Nothing written: no options key, the groups file as it was.
    EXPECT_FALSE(RegistrySandbox::KeyExists(sandbox.Root(), "hkcu\\Software\\Corvalin"));
    EXPECT_EQ(strBytes, mainwindowtest::ReadFile(strPath));
    kept.Restore();
    CExtPopupBaseWnd::g_nDefaultAnimation = 0;
}

namespace {

// A copy of the program on its way up, played by a thread of this process: it holds the
// mutex without a window, then shows its marked window once told to (pumping its
// messages until the end), or ends without one. The test process lets its own mutex go
// first; the next start takes it again.
class StartingCopy
{
public:
    StartingCopy()
    {
        if (g_hPurgeletMutex != NULL) {
            ::ReleaseMutex(g_hPurgeletMutex);
            ::CloseHandle(g_hPurgeletMutex);
        }
        g_hPurgeletMutex = NULL;
        m_thread = std::thread([this] { Run(); });
        realinput::SleepUntil([this] { return m_hMutex.load() != NULL; });
    }
    ~StartingCopy()
    {
        End();
        if (m_hMutex != NULL) ::CloseHandle(m_hMutex);
    }
    // Shows the window once pred() holds (checked on the copy's thread); one closing shows
    // it marked closing, with a box over it (as at an exit that tells what became of the groups).
    void ShowWindowWhen(std::function<bool()> pred, bool bClosing = false)
    {
        m_bClosing = bClosing;
        m_showWhen = std::move(pred), m_bShow = true;
    }
    // Makes its window at once, marked but hidden, notes work on it for ms (a first list
    // read before the window shows), then shows it.
    void WorkHiddenFor(DWORD ms) { m_dwWorkMs = ms; }
    // Ends the copy's thread, its window gone, the mutex left as a process's end leaves it.
    void End()
    {
        m_bEnd = true;
        if (m_thread.joinable()) m_thread.join();
    }
    // The copy's thread created the mutex and owns it.
    bool Owned() const { return m_bOwned; }
    HWND Window() const { return m_hWnd; }

private:
    void Run()
    {
        HANDLE hMutex = ::CreateMutexA(NULL, TRUE, "Mutex_NimboPurgelet");
        m_bOwned = hMutex != NULL && ::GetLastError() != ERROR_ALREADY_EXISTS;
        m_hMutex = hMutex;
        while (!m_bEnd) {
            if (m_hWnd == NULL && m_bShow && m_showWhen()) {
                // Shown without taking the activation: the second start brings it up.
                m_hWnd = ::CreateWindowExA(0, "STATIC", "starting copy", WS_OVERLAPPEDWINDOW, 120, 120, 300, 200, NULL,
                                           NULL, NULL, NULL);
                MarkMainWindow(m_hWnd, true);
                ::ShowWindow(m_hWnd, SW_SHOWNA);
                if (m_bClosing) {
                    MarkMainWindowClosing(m_hWnd, true);
                    m_hBox = ::CreateWindowExA(0, "STATIC", "exit box", WS_POPUP | WS_CAPTION | WS_VISIBLE, 160, 160,
                                               200, 100, m_hWnd, NULL, NULL, NULL);
                    ::SetActiveWindow(m_hBox);
                }
            }
            if (m_hWnd == NULL && m_dwWorkMs != 0) {
                m_hWnd = ::CreateWindowExA(0, "STATIC", "working copy", WS_OVERLAPPEDWINDOW, 120, 120, 300, 200, NULL,
                                           NULL, NULL, NULL);
                MarkMainWindow(m_hWnd, true);
                // At work: it takes no message meanwhile.
                for (const DWORD dwStart = ::GetTickCount(); ::GetTickCount() - dwStart < m_dwWorkMs;)
                    NoteMainWindowWorking();
                ::ShowWindow(m_hWnd, SW_SHOWNA);
            }
            MSG msg;
            while (::PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) ::DispatchMessageA(&msg);
            ::MsgWaitForMultipleObjects(0, NULL, FALSE, 10, QS_ALLINPUT);
        }
        if (m_hBox != NULL) ::DestroyWindow(m_hBox);
        if (m_hWnd != NULL) {
            MarkMainWindow(m_hWnd, false);
            MarkMainWindowClosing(m_hWnd, false);
            ::DestroyWindow(m_hWnd);
        }
    }

    std::thread m_thread;
    std::atomic<HANDLE> m_hMutex{NULL};
    std::atomic<bool> m_bOwned{false}, m_bShow{false}, m_bEnd{false}, m_bClosing{false};
    std::atomic<DWORD> m_dwWorkMs{0};
    std::function<bool()> m_showWhen;
    std::atomic<HWND> m_hWnd{NULL}, m_hBox{NULL};
};

}  // namespace

// A copy still starting (no window yet) past the few seconds a start normally takes: a
// second start waits for its window as long as it runs, brings it up and ends.
TEST(AppStartup, ASecondStartWaitsForTheWindowOfACopyStillStarting)
{
    RegistrySandbox sandbox;
    ASSERT_TRUE(RedirectUserKeysWithSoftware(sandbox));
    AppNamesGuard names;
    StartingCopy starting;
    ASSERT_TRUE(starting.Owned());
    std::atomic<DWORD> dwStart{::GetTickCount()};
    // Six seconds: longer than the patience the program once had for a start.
    starting.ShowWindowWhen([&] { return ::GetTickCount() - dwStart >= 6000; });
    const int runsBefore = TestApp().m_nMainDialogRuns;
    dwStart = ::GetTickCount();

    EXPECT_FALSE(TestApp().InitInstance());

    EXPECT_GE(::GetTickCount() - dwStart, 6000u);
    EXPECT_EQ(runsBefore, TestApp().m_nMainDialogRuns) << "no main dialog";
    EXPECT_EQ(nullptr, g_hPurgeletMutex) << "the mutex stays the running copy's";
    ASSERT_TRUE(starting.Window() != NULL);
    EXPECT_TRUE(mainwindowtest::PumpUntil([&] { return ::GetForegroundWindow() == starting.Window(); }));
    EXPECT_FALSE(RegistrySandbox::KeyExists(sandbox.Root(), "hkcu\\Software\\Corvalin"));
}

// A copy that held the mutex and ended without a window (it crashed on its way up): the
// start that waited for it goes on as the one copy.
TEST(AppStartup, ASecondStartRunsWhenTheCopyItWaitsForEndsWithoutAWindow)
{
    RegistrySandbox sandbox;
    ASSERT_TRUE(RedirectUserKeysWithSoftware(sandbox));
    AppNamesGuard names;
    StartingCopy starting;
    ASSERT_TRUE(starting.Owned());
    starting.End();
    const int runsBefore = TestApp().m_nMainDialogRuns;

    EXPECT_FALSE(TestApp().InitInstance());

    EXPECT_EQ(runsBefore + 1, TestApp().m_nMainDialogRuns);
    ASSERT_NE(nullptr, g_hPurgeletMutex);
    // This thread owns the mutex now: another thread's wait for it times out.
    HANDLE hHeld = g_hPurgeletMutex;
    DWORD dwOther = 0;
    std::thread([&] { dwOther = ::WaitForSingleObject(hHeld, 0); }).join();
    EXPECT_EQ((DWORD)WAIT_TIMEOUT, dwOther);
}

// A copy closing behind a box (its exit tells what became of the groups) past the patience
// a hang gets: a start waits for it to end, with no box of its own, and runs.
TEST(AppStartup, AStartWaitsForACopyClosingBehindABoxAndRuns)
{
    StartingCopy closing;
    ASSERT_TRUE(closing.Owned());
    closing.ShowWindowWhen([] { return true; }, true);
    ASSERT_TRUE(realinput::SleepUntil([&] { return FindClosingMainWindow() != NULL; }));
    HANDLE hHeld = NULL;
    ASSERT_FALSE(TakeInstanceMutex(&hHeld));
    TestApp().m_boxes.clear();
    const DWORD dwStart = ::GetTickCount();
    std::thread ending([&] {
        realinput::SleepUntil([&] { return ::GetTickCount() - dwStart >= 3000; }, 10000);
        closing.End();
    });

    EXPECT_EQ(RunningCopyOutcome::Ended, ShowRunningInstance(hHeld, 1500)) << "runs as the one copy";

    ending.join();
    EXPECT_GE(::GetTickCount() - dwStart, 3000u);
    EXPECT_TRUE(TestApp().m_boxes.empty());
    EXPECT_EQ(hHeld, g_hPurgeletMutex);
}

// A copy that holds the mutex and never shows a window (it hangs on its way up): the
// start that waits for it gives up after its patience, says so in a box and ends, without
// telling the user to end that copy. One that works on its first list with its window
// hidden, twice the patience, is waited for and brought up.
TEST(AppStartup, ASecondStartSaysSoWhenTheCopyItWaitsForNeverShowsAWindow)
{
    {
        SCOPED_TRACE("at work before its window shows");
        StartingCopy working;
        ASSERT_TRUE(working.Owned());
        working.WorkHiddenFor(3000);
        HANDLE hHeld = NULL;
        ASSERT_FALSE(TakeInstanceMutex(&hHeld));
        TestApp().m_boxes.clear();
        EXPECT_EQ(RunningCopyOutcome::BroughtUp, ShowRunningInstance(hHeld, 1500));
        EXPECT_TRUE(TestApp().m_boxes.empty());
    }
    StartingCopy starting;
    ASSERT_TRUE(starting.Owned());
    HANDLE hHeld = NULL;
    ASSERT_FALSE(TakeInstanceMutex(&hHeld));
    TestApp().m_boxes.clear();
    const DWORD dwStart = ::GetTickCount();

    EXPECT_EQ(RunningCopyOutcome::Hangs, ShowRunningInstance(hHeld, 1500));

    EXPECT_GE(::GetTickCount() - dwStart, 1500u);
    ASSERT_EQ(1u, TestApp().m_boxes.size());
    EXPECT_EQ("Nimbo Purgelet is running already, but its window has not shown within two minutes.\r\n\r\nThis "
              "start ends. Leave the running copy running: it may be storing your groups. Start the program again "
              "once its window shows.",
              TestApp().m_boxes[0].text);
    EXPECT_EQ((UINT)(MB_OK | MB_ICONWARNING), TestApp().m_boxes[0].type);
    EXPECT_EQ(nullptr, g_hPurgeletMutex) << "the mutex stays the running copy's";
    TestApp().m_boxes.clear();
}

namespace {

class CCommandWnd : public CWnd
{
public:
    std::vector<UINT> m_commands;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override
    {
        m_commands.push_back(LOWORD(wParam));
        return CWnd::OnCommand(wParam, lParam);
    }
};

}  // namespace

TEST(AppStartup, MessageFilterAppliesTheMainDialogsAcceleratorsOnlyForNonNegativeCodes)
{
    CCommandWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, AfxRegisterWndClass(0), "main", WS_POPUP, 0, 0, 50, 50, NULL, NULL));
    ACCEL accel[2] = {{FVIRTKEY, VK_F5, 0x8001}, {FVIRTKEY | FCONTROL, 'C', 0x8002}};
    HACCEL hAccel = ::CreateAcceleratorTableA(accel, 2);
    CWnd* pOldMain = TestApp().m_pMainWnd;
    TestApp().m_pMainWnd = &wnd;
    TestApp().m_hAccel = hAccel;

    MSG msg = {};
    msg.hwnd = wnd.GetSafeHwnd();
    msg.message = WM_KEYDOWN;
    msg.wParam = VK_F5;
    msg.lParam = 1;
    EXPECT_FALSE(TestApp().ProcessMessageFilter(-1, &msg));
    EXPECT_TRUE(wnd.m_commands.empty());
    EXPECT_TRUE(TestApp().ProcessMessageFilter(MSGF_DIALOGBOX, &msg));
    ASSERT_EQ(1u, wnd.m_commands.size());
    EXPECT_EQ(0x8001u, wnd.m_commands[0]);

    msg.wParam = VK_F6;
    EXPECT_FALSE(TestApp().ProcessMessageFilter(MSGF_DIALOGBOX, &msg));

    // Without a main window nothing is translated.
    TestApp().m_pMainWnd = NULL;
    msg.wParam = VK_F5;
    EXPECT_FALSE(TestApp().ProcessMessageFilter(MSGF_DIALOGBOX, &msg));
    EXPECT_EQ(1u, wnd.m_commands.size());

    TestApp().m_pMainWnd = pOldMain;
    TestApp().m_hAccel = NULL;
    ::DestroyAcceleratorTable(hAccel);
    wnd.DestroyWindow();
}
