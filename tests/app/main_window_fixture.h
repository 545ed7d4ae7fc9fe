// What the tests of the real main window share: the registry redirected into a sandbox,
// the groups file and the application's registry key and profile put back afterwards, a
// bounded pump through the modal loop's own step, a run of the program's main dialog
// with a scenario inside its modal loop, and the ways the tests look at the dialog.
#pragma once

#include "app_test_app.h"
#include "owned_box.h"
#include "real_input.h"
#include "app/purgelet_dlg.h"
#include "app/purgelet_app.h"
#include "app/input_rule.h"
#include "app/ui_manager.h"
#include "catalogue/groups.h"
#include "catalogue/options.h"
#include "catalogue/program_entry.h"
#include "res/resource.h"
#include "support/registry_sandbox.h"
#include <gtest/gtest.h>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace mainwindowtest {

// Where the program stores its options.
const char kOptionsKey[] = "Software\\Corvalin\\Nimbo Purgelet\\Nimbo Purgelet";

inline std::string ReadFile(const std::string& path)
{
    std::ifstream in(path.c_str(), std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// A file as it is now, its bytes or that it is not there, put back by Restore: the tests
// write the groups file of the test prefix and leave the user's as it was.
class KeptFile
{
public:
    void Keep(const std::string& path)
    {
        m_path = path;
        m_bHad = ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
        m_bytes = ReadFile(path);
    }
    void Restore() const
    {
        ::DeleteFileA(m_path.c_str());
        if (m_bHad) std::ofstream(m_path.c_str(), std::ios::binary) << m_bytes;
    }

private:
    std::string m_path, m_bytes;
    bool m_bHad = false;
};

// Pumps the way the dialog's modal loop does, so the application's and the dialog's
// message filters (the accelerators, the menu bar's keys) see every message as they do
// in the running program, until pred() holds or timeoutMs passed. pred() is asked once
// the queue is empty, or with bAfterEach after every message handled: then the moment
// something happens is seen as soon as the message that did it is over (a paint, a
// posted message after it).
inline bool PumpMessagesUntil(const std::function<bool()>& pred, DWORD timeoutMs, bool bAfterEach)
{
    // A hook may eat the input message GetMessage takes (an open menu eats the pointer's
    // moves over it) and leave it waiting for a next one; a thread timer wakes it.
    struct WakeTimer
    {
        UINT_PTR id = ::SetTimer(NULL, 0, 50, NULL);
        ~WakeTimer() { ::KillTimer(NULL, id); }
    } wake;
    const DWORD start = ::GetTickCount();
    for (;;) {
        MSG msg;
        bool bHandled = false;
        while (::PeekMessageA(&msg, NULL, 0, 0, PM_NOREMOVE)) {
            if (!AfxPumpMessage()) {
                ::PostQuitMessage((int)msg.wParam);
                return pred();
            }
            bHandled = true;
            if (bAfterEach) break;
        }
        if (pred()) return true;
        if (::GetTickCount() - start >= timeoutMs) return pred();
        if (!bAfterEach || !bHandled) ::MsgWaitForMultipleObjects(0, NULL, FALSE, 10, QS_ALLINPUT);
    }
}

// Whether messages of the kinds given (QS_ flags) wait in this thread's queue.
inline bool QueueHolds(UINT nKinds) { return (HIWORD(::GetQueueStatus(nKinds)) & nKinds) != 0; }

inline bool PumpUntil(const std::function<bool()>& pred, DWORD timeoutMs = 5000)
{
    return PumpMessagesUntil(pred, timeoutMs, false);
}

inline bool PumpUntilAfterEach(const std::function<bool()>& pred, DWORD timeoutMs = 5000)
{
    return PumpMessagesUntil(pred, timeoutMs, true);
}

// Every value under a key of HKEY_CURRENT_USER, with its type, as stored; none when the
// key is not there.
inline std::map<std::string, std::string> StoredValues(const char* pszKey)
{
    std::map<std::string, std::string> values;
    HKEY hKey = NULL;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, pszKey, 0, KEY_READ, &hKey) != ERROR_SUCCESS) return values;
    for (DWORD i = 0;; ++i) {
        char name[256];
        BYTE data[1024];
        DWORD cchName = sizeof(name), cbData = sizeof(data), type = 0;
        if (::RegEnumValueA(hKey, i, name, &cchName, NULL, &type, data, &cbData) != ERROR_SUCCESS) break;
        values[name] = std::to_string(type) + ":" + std::string((const char*)data, cbData);
    }
    ::RegCloseKey(hKey);
    return values;
}

// Every value under the options key, with its type, as stored.
inline std::map<std::string, std::string> StoredOptions() { return StoredValues(kOptionsKey); }

// The folder of the test program, where the test uninstaller lies beside it.
inline std::string TestFolder()
{
    char path[MAX_PATH] = "";
    ::GetModuleFileNameA(NULL, path, MAX_PATH);
    char* slash = strrchr(path, '\\');
    if (slash != NULL) slash[1] = '\0';
    return path;
}

// The file the test uninstaller leaves when it is started without arguments.
inline std::string UninstallerMarkerPath()
{
    char path[MAX_PATH] = "";
    ::GetTempPathA(MAX_PATH, path);
    return std::string(path) + "purgelet_test_uninstaller_ran.txt";
}

// The test uninstaller started without arguments has left its marker: a command of a
// program nobody chose has run.
inline bool MarkerLeft() { return ::GetFileAttributesA(UninstallerMarkerPath().c_str()) != INVALID_FILE_ATTRIBUTES; }

// The log the witnesses of the test uninstaller write: a line with the program's name
// each time one of its commands starts.
inline std::string WitnessLogPath()
{
    char path[MAX_PATH] = "";
    ::GetTempPathA(MAX_PATH, path);
    return std::string(path) + "purgelet_test_uninstaller_log.txt";
}

// The witnesses that ran, in order, one name a line.
inline std::string WitnessLog() { return ReadFile(WitnessLogPath()); }

// Puts text on the clipboard, as another program would.
inline void SetClipboard(const char* text)
{
    if (!::OpenClipboard(NULL)) return;
    ::EmptyClipboard();
    HGLOBAL hMem = ::GlobalAlloc(GMEM_MOVEABLE, strlen(text) + 1);
    memcpy(::GlobalLock(hMem), text, strlen(text) + 1);
    ::GlobalUnlock(hMem);
    ::SetClipboardData(CF_TEXT, hMem);
    ::CloseClipboard();
}

// The clipboard's text, or "" when it holds none.
inline std::string ClipboardText()
{
    std::string clip;
    if (::OpenClipboard(NULL)) {
        HANDLE hData = ::GetClipboardData(CF_TEXT);
        const char* p = hData != NULL ? (const char*)::GlobalLock(hData) : NULL;
        if (p != NULL) clip = p;
        if (hData != NULL) ::GlobalUnlock(hData);
        ::CloseClipboard();
    }
    return clip;
}

// Gives something that must not happen the time to show up.
inline void Pump(DWORD ms)
{
    PumpUntil([] { return false; }, ms);
}

// Pumps the way the modal loop does until what the user's input set off is over: the
// double-click time passed and no input or posted message waits. False when the queue
// never empties.
inline bool SettleInput()
{
    const DWORD dwStart = ::GetTickCount();
    return PumpUntil([&] {
        return ::GetTickCount() - dwStart > ::GetDoubleClickTime() + 100 && !QueueHolds(QS_INPUT | QS_POSTMESSAGE);
    });
}

// Moves the pointer through real input (with the button changes dwFlags gives) and
// pumps until it is there.
inline void MoveTo(POINT pt, DWORD dwFlags = 0)
{
    pt = realinput::SendMouse(dwFlags, pt);
    PumpUntil([&] { return realinput::CursorAt(pt); });
}

// Brings hWnd's top window to the front with the focus on hWnd; true once it is there.
inline bool FocusIn(HWND hWnd)
{
    ::SetForegroundWindow(::GetAncestor(hWnd, GA_ROOT));
    ::SetFocus(hWnd);
    return PumpUntil([&] { return ::GetFocus() == hWnd; });
}

inline CExtReportCtrl& List(CPurgeletDlg& dlg) { return dlg.m_pageUninstall.m_pageView.m_pageList.m_wndList; }

// Waits until the program list takes a click on any of its rows: for the system's
// double-click time after a row changed under the pointer (a refill, a sort, a scroll, a
// box or the group editor closing over it) it takes none there, as a user's click aimed
// at what it showed before.
inline bool WaitUntilListTakesClicks()
{
    return PumpUntil([] {
        CWnd* pList = CWnd::FromHandlePermanent(CUiManager::GetInstance()->m_hWndProgramList);
        return pList != NULL && CInputRule::TakesCommands() &&
               static_cast<CExtReportCtrl*>(pList)->RowsSettled(::GetTickCount64());
    });
}

// A window's text.
inline std::string TextOf(CWnd& wnd)
{
    CString s;
    wnd.GetWindowText(s);
    return (LPCSTR)s;
}

// The first pane of the main window's status bar.
inline std::string Status(CPurgeletDlg& dlg) { return (LPCSTR)dlg.m_wndStatusBar.GetPaneText(0); }

// The list's row that shows the program of this name, or -1.
inline int RowOf(CPurgeletDlg& dlg, const char* name)
{
    LVFINDINFO find = {LVFI_STRING, name, 0, {0, 0}, 0};
    return List(dlg).FindItem(&find);
}

// A click on the program's row, near its left end.
inline void ClickRow(CPurgeletDlg& dlg, const char* name)
{
    WaitUntilListTakesClicks();
    CRect rc;
    List(dlg).GetItemRect(RowOf(dlg, name), &rc, LVIR_BOUNDS);
    realinput::ClickAt(List(dlg), CPoint(40, rc.CenterPoint().y));
}

// A user group with one keyword, added to the groups model (the tree shows it once
// the groups are refreshed).
inline void AddGroup(const char* name, const char* keyword)
{
    GroupEntry* pGroup = CGroupManager::GetInstance()->CreateGroup();
    pGroup->Name = name;
    pGroup->AddKeyword(keyword);
}

// The groups tree's item of this text ("Groups": the root), or NULL.
inline HTREEITEM TreeItem(CPurgeletDlg& dlg, const char* text)
{
    CPageUninstallGroups& groups = dlg.m_pageUninstall.m_pageGroups;
    if (strcmp(text, "Groups") == 0) return groups.m_hRoot;
    for (HTREEITEM h = groups.m_wndTree.GetChildItem(groups.m_hRoot); h != NULL;
         h = groups.m_wndTree.GetNextSiblingItem(h))
        if (groups.m_wndTree.GetItemText(h) == text) return h;
    return NULL;
}

// The text of the list's selected row, or "" when none is selected.
inline std::string SelectedRowText(CPurgeletDlg& dlg)
{
    int nRow = List(dlg).GetNextItem(-1, LVNI_SELECTED);
    return nRow < 0 ? std::string() : std::string((LPCSTR)List(dlg).GetItemText(nRow, 0));
}

// The Remove warning as the user saw it: the line with the name as the box shows it, and
// where the box stood. bFound: a warning came.
struct ShownRemoveWarning
{
    ownedbox::ShownNameLine shown;
    CRect rect;
    bool bFound = false;
};

// Picks the list's first row with a click and, once it is selected, asks Remove for it;
// the warning is read and answered No.
inline void ReadRemoveWarningOfFirstRow(CPurgeletDlg& dlg, ShownRemoveWarning& seen)
{
    CRect rc;
    List(dlg).GetItemRect(0, &rc, LVIR_BOUNDS);
    realinput::ClickAt(List(dlg), CPoint(40, rc.CenterPoint().y));
    ASSERT_TRUE(PumpUntil([&] { return !SelectedRowText(dlg).empty(); }));
    ownedbox::BoxWatcher warning(dlg.GetSafeHwnd(), [&](HWND hBox) {
        seen.shown = ownedbox::ReadShownNameLine(hBox);
        ::PostMessageA(hBox, WM_COMMAND, MAKEWPARAM(IDNO, BN_CLICKED), 0);
    });
    dlg.SendMessage(WM_COMMAND, ID_PROGRAM_REMOVE_ENTRY, 0);
    warning.Join();
    seen.rect = warning.m_rect;
    seen.bFound = warning.m_bFound;
}

// The button of a toolbar that sends nID, or NULL.
inline CExtBarButton* BarButton(CExtToolControlBar& bar, UINT nID)
{
    for (int i = 0; i < bar.GetButtonsCount(); ++i)
        if (bar.GetButton(i)->GetCmdID(false) == nID) return bar.GetButton(i);
    return NULL;
}

// Whether the main window allows a command now (its update handler, as the menus, the
// context menu, the toolbar and the accelerators ask it).
inline BOOL CommandEnabled(CPurgeletDlg& dlg, UINT nID)
{
    CTestCmdUI state;
    state.m_nID = nID;
    dlg.OnCmdMsg(nID, (int)CN_UPDATE_COMMAND_UI, &state, NULL);
    return state.m_bEnabled;
}

// Notes, while it lives, every refill of a list of this thread: each LVM_DELETEALLITEMS,
// and when the last one began.
class RefillWatch
{
public:
    RefillWatch()
    {
        Refilled().clear();
        LastStart() = 0;
        m_hHook = ::SetWindowsHookExA(WH_CALLWNDPROC, Note, NULL, ::GetCurrentThreadId());
    }
    ~RefillWatch() { ::UnhookWindowsHookEx(m_hHook); }
    // The refills of one list, or of every list when hList is NULL.
    size_t Count(HWND hList = NULL) const
    {
        const std::vector<HWND>& refilled = Refilled();
        size_t n = 0;
        for (HWND h : refilled)
            if (hList == NULL || h == hList) ++n;
        return n;
    }
    // When the last refill began (GetTickCount; 0: none yet).
    DWORD LastStarted() const { return LastStart(); }

private:
    static std::vector<HWND>& Refilled()
    {
        static std::vector<HWND> refilled;
        return refilled;
    }
    static DWORD& LastStart()
    {
        static DWORD dwStart = 0;
        return dwStart;
    }
    static LRESULT CALLBACK Note(int nCode, WPARAM wParam, LPARAM lParam)
    {
        const CWPSTRUCT* p = (const CWPSTRUCT*)lParam;
        if (nCode == HC_ACTION && p->message == LVM_DELETEALLITEMS) {
            Refilled().push_back(p->hwnd);
            LastStart() = ::GetTickCount();
        }
        return ::CallNextHookEx(NULL, nCode, wParam, lParam);
    }
    HHOOK m_hHook;
};

// Counts, while it lives, the messages nMsg sent to hWnd on this thread (those that go
// through its window procedure by SendMessage, a paint forced at once among them). Each
// count starts at zero: a run repeated in the same process must not see the last one's.
class SentCount
{
public:
    SentCount(HWND hWnd, UINT nMsg)
    {
        Watched() = {hWnd, nMsg, 0};
        m_hHook = ::SetWindowsHookExA(WH_CALLWNDPROC, Note, NULL, ::GetCurrentThreadId());
    }
    ~SentCount() { Stop(); }
    // Stops counting; the count stays what it was.
    void Stop()
    {
        if (m_hHook != NULL) ::UnhookWindowsHookEx(m_hHook);
        m_hHook = NULL;
    }
    int Count() const { return Watched().nCount; }

private:
    struct Watch
    {
        HWND hWnd;
        UINT nMsg;
        int nCount;
    };
    static Watch& Watched()
    {
        static Watch watch = {NULL, 0, 0};
        return watch;
    }
    static LRESULT CALLBACK Note(int nCode, WPARAM wParam, LPARAM lParam)
    {
        const CWPSTRUCT* p = (const CWPSTRUCT*)lParam;
        if (nCode == HC_ACTION && p->hwnd == Watched().hWnd && p->message == Watched().nMsg) ++Watched().nCount;
        return ::CallNextHookEx(NULL, nCode, wParam, lParam);
    }
    HHOOK m_hHook;
};

class MainWindowFixture : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_box.Override(HKEY_CURRENT_USER, "HKCU"));
        ASSERT_TRUE(m_box.Override(HKEY_LOCAL_MACHINE, "HKLM"));
        m_groupsFile = GetGroupsFilePath();
        m_keptGroups.Keep(m_groupsFile);
        CWinApp& app = TestApp();
        m_savedKey = app.m_pszRegistryKey ? app.m_pszRegistryKey : "";
        m_savedProfile = app.m_pszProfileName ? app.m_pszProfileName : "";
        // The program keeps an option that nothing usable is stored for, and each test
        // starts it over an empty registry: without this a test would inherit the splitter
        // a test before it dragged (each pass of a repeated run a little further).
        for (OptionValue* pOption : Options()) m_savedOptions.push_back(*pOption);
    }
    void TearDown() override
    {
        CWinApp& app = TestApp();
        free(const_cast<LPTSTR>(app.m_pszRegistryKey));
        app.m_pszRegistryKey = m_savedKey.empty() ? NULL : _strdup(m_savedKey.c_str());
        free(const_cast<LPTSTR>(app.m_pszProfileName));
        app.m_pszProfileName = m_savedProfile.empty() ? NULL : _strdup(m_savedProfile.c_str());
        TestApp().m_boxes.clear();
        TestApp().m_bShowBoxes = false;
        m_keptGroups.Restore();
        // A run that ended with the group editor open (the program ends with it) must
        // not hand it to the next test's main window.
        ForgetGroupEditor();
        const std::vector<OptionValue*> options = Options();
        for (size_t i = 0; i < m_savedOptions.size() && i < options.size(); ++i) *options[i] = m_savedOptions[i];
        m_box.RestoreOverrides();
    }
    static std::vector<OptionValue*> Options()
    {
        return {&g_SizeType, &g_GridColor1, &g_GridColor2, &g_GridEnabled, &g_AutoRefresh,
                &g_Hide,     &g_ShowCats,   &g_ShowDetails, &g_CatsSize,   &g_ListSize};
    }
    // Only the "Other" group left, none current.
    static void ClearGroups()
    {
        CGroupManager::GetInstance()->Clear();
    }
    // Writes an Uninstall entry under the key: its name and each command given (an empty
    // one is not written).
    static void SeedEntry(const std::string& key, const std::string& name, const std::string& uninstall,
                          const std::string& quiet, const std::string& modify)
    {
        using testsupport::RegistrySandbox;
        const std::string path = UninstallKeyPath + key;
        ASSERT_TRUE(RegistrySandbox::SetString(HKEY_CURRENT_USER, path, "DisplayName", name));
        const struct
        {
            const char* value;
            const std::string& command;
        } commands[] = {{"UninstallString", uninstall}, {"QuietUninstallString", quiet}, {"ModifyPath", modify}};
        for (const auto& c : commands) {
            if (!c.command.empty()) {
                ASSERT_TRUE(RegistrySandbox::SetString(HKEY_CURRENT_USER, path, c.value, c.command)) << c.value;
            }
        }
    }
    // An entry whose commands name no program that exists: a run shows a launch failure.
    // Without bCommands it has its name alone.
    static void SeedUnrunnable(const std::string& key, const std::string& name, bool bCommands = true)
    {
        if (!bCommands) {
            SeedEntry(key, name, "", "", "");
            return;
        }
        SeedEntry(key, name, "none_such_remover.exe", "none_such_quiet.exe", "none_such_modify.exe");
        ASSERT_TRUE(testsupport::RegistrySandbox::SetString(HKEY_CURRENT_USER, UninstallKeyPath + key,
                                                            "InstallLocation", "C:\\"));
    }
    static bool EntryExists(const std::string& key)
    {
        return testsupport::RegistrySandbox::KeyExists(HKEY_CURRENT_USER, UninstallKeyPath + key);
    }
    // Runs the real program with the scenario inside its modal loop. The main window's
    // end asks the thread to quit, as it ends the program; the quit is taken off the
    // queue (the tests that follow still pump messages) and the answer says whether
    // there was one.
    bool Run(const std::function<void(CPurgeletDlg&)>& scenario)
    {
        // A run before that ended with the editor open (a session's end) hands it on to nobody.
        ForgetGroupEditor();
        TestApp().m_scenario = scenario;
        EXPECT_FALSE(TestApp().InitInstance());
        // The main dialog takes the scenario when it runs it: one still here never ran
        // (no display, a dialog that could not be made), and the test saw nothing.
        EXPECT_FALSE(TestApp().m_scenario) << "the main dialog never ran the scenario";
        TestApp().m_scenario = nullptr;
        MSG quit;
        return ::PeekMessageA(&quit, NULL, WM_QUIT, WM_QUIT, PM_REMOVE) != FALSE;
    }

    testsupport::RegistrySandbox m_box;
    std::string m_groupsFile, m_savedKey, m_savedProfile;
    KeptFile m_keptGroups;
    std::vector<OptionValue> m_savedOptions;
};

// The main window over no stored groups: the groups file gone and only "Other" left,
// before each test and after it.
class NoGroupsFixture : public MainWindowFixture
{
protected:
    void SetUp() override
    {
        MainWindowFixture::SetUp();
        if (HasFatalFailure()) return;
        ForgetGroups();
    }
    void TearDown() override
    {
        ClearGroups();
        MainWindowFixture::TearDown();
    }
    // No group in memory but "Other" and no groups file, as before a first start.
    void ForgetGroups()
    {
        ::DeleteFileA(m_groupsFile.c_str());
        ClearGroups();
    }
};

// The main window with the test uninstaller at hand: no groups, no box recorded before the
// test, and no marker of the uninstaller before or after it. `m_uninstaller` is its path in
// quotes, the start of a command line.
class UninstallerFixture : public NoGroupsFixture
{
protected:
    void SetUp() override
    {
        NoGroupsFixture::SetUp();
        if (HasFatalFailure()) return;
        ::DeleteFileA(UninstallerMarkerPath().c_str());
        ::DeleteFileA(WitnessLogPath().c_str());
        TestApp().m_boxes.clear();
        m_uninstaller = "\"" + TestFolder() + "test_uninstaller.exe\"";
    }
    void TearDown() override
    {
        NoGroupsFixture::TearDown();
        ::DeleteFileA(UninstallerMarkerPath().c_str());
        ::DeleteFileA(WitnessLogPath().c_str());
    }

    // A program whose uninstaller logs its name (WitnessLog), runs for the milliseconds
    // given or until the event named is set, then deletes its own entry when bRemovesItself.
    void SeedLogging(const std::string& key, const char* name, const std::string& runs, bool bRemovesItself = false)
    {
        std::string command = m_uninstaller + " --log \"" + name + "\" " + runs;
        if (bRemovesItself) command += " \"" + m_box.Path() + "\\HKCU\\" + UninstallKeyPath + key + "\"";
        SeedEntry(key, name, command, "", "");
    }

    // A program any of whose commands leaves the marker.
    void SeedWitness(const std::string& key, const char* name)
    {
        SeedEntry(key, name, m_uninstaller, m_uninstaller, m_uninstaller);
    }
    // nCount witnesses, "Filler 00" on, under the keys "Filler00" on.
    void SeedFillers(int nCount)
    {
        for (int i = 0; i < nCount; ++i) {
            char key[16], name[32];
            wsprintfA(key, "Filler%02d", i);
            wsprintfA(name, "Filler %02d", i);
            SeedWitness(key, name);
        }
    }

    std::string m_uninstaller;
};

// The main window for the tests of its commands: no groups, no box recorded before the
// test, and no group editor left open by a test that failed with it open.
class CommandsFixture : public NoGroupsFixture
{
protected:
    void SetUp() override
    {
        NoGroupsFixture::SetUp();
        if (HasFatalFailure()) return;
        TestApp().m_boxes.clear();
        ForgetGroupEditor();
    }
};

}  // namespace mainwindowtest
