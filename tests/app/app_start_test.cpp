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
    const bool bHadFile = ::GetFileAttributesA(strPath.c_str()) != INVALID_FILE_ATTRIBUTES;
    const std::string strSaved = mainwindowtest::ReadFile(strPath);
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
    ::DeleteFileA(strPath.c_str());
    if (bHadFile) std::ofstream(strPath.c_str(), std::ios::binary) << strSaved;
    CExtPopupBaseWnd::g_nDefaultAnimation = 0;
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
