// Input aimed at the main window as it was never acts on what it shows now, through the
// real program with real keys and clicks: made while the list is read again, soon after
// an uninstall where the removed program was, while a command runs, and as the second
// click of a double-click on the Remove warning's button.
#include "main_window_fixture.h"
#include "owned_box.h"
#include "app/groups_store.h"
#include "app/ui_manager.h"
#include "catalogue/program_entry.h"
#include "res/resource.h"
#include "support/import_patch.h"
#include "support/message_pump.h"
#include "support/registry_sandbox.h"
#include "toolkit/menus/popup_menu_wnd.h"
#include <gtest/gtest.h>
#include <algorithm>
#include <atomic>
#include <cstdio>
#include <functional>
#include <string>
#include <thread>
#include <vector>

using mainwindowtest::FocusIn;
using mainwindowtest::kOptionsKey;
using mainwindowtest::List;
using mainwindowtest::MarkerLeft;
using mainwindowtest::PumpUntil;
using mainwindowtest::RefillWatch;
using mainwindowtest::RowOf;
using mainwindowtest::SelectedRowText;
using mainwindowtest::Status;
using mainwindowtest::TextOf;
using mainwindowtest::UninstallerMarkerPath;
using realinput::ClickAt;
using realinput::SleepUntil;
using realinput::TapKeys;
using testsupport::RegistrySandbox;

namespace {

const char kEventName[] = "PurgeletInputTestUninstall";

std::string SearchText(CPurgeletDlg& dlg) { return TextOf(dlg.m_pageUninstall.m_pageView.m_pageList.m_wndSearch); }

// The centre of a program's row, on the screen.
POINT RowPoint(CPurgeletDlg& dlg, const char* name)
{
    CRect rc;
    List(dlg).GetItemRect(RowOf(dlg, name), &rc, LVIR_BOUNDS);
    CPoint pt(60, rc.CenterPoint().y);
    List(dlg).ClientToScreen(&pt);
    return pt;
}

// What the catalogue does first when it reads the registry again: opening the Uninstall
// key of the current user. The test acts there, inside the refill, once.
typedef LONG(WINAPI* RegOpenKeyExAFn)(HKEY, LPCSTR, DWORD, REGSAM, PHKEY);
RegOpenKeyExAFn g_realRegOpenKeyExA = NULL;
std::function<void()> g_duringRefill;

LONG WINAPI OpenActingOnce(HKEY root, LPCSTR path, DWORD options, REGSAM access, PHKEY result)
{
    if (root == HKEY_CURRENT_USER && path != NULL && UninstallKeyPath == path && g_duringRefill) {
        std::function<void()> act;
        act.swap(g_duringRefill);
        act();
    }
    return g_realRegOpenKeyExA(root, path, options, access, result);
}

// Keeps every processor of the machine busy while it lives (when asked to): threads that
// only count, three for each processor, as other programs a user runs keep it busy.
class BusyMachine
{
public:
    explicit BusyMachine(bool bBusy)
    {
        if (!bBusy) return;
        SYSTEM_INFO info;
        ::GetSystemInfo(&info);
        for (DWORD i = 0; i < 3 * std::max<DWORD>(1, info.dwNumberOfProcessors); ++i)
            m_threads.emplace_back([this] {
                volatile unsigned n = 0;
                while (!m_bStop) ++n;
            });
    }
    ~BusyMachine() { Stop(); }
    void Stop()
    {
        m_bStop = true;
        for (std::thread& t : m_threads) t.join();
        m_threads.clear();
    }

private:
    std::atomic<bool> m_bStop{false};
    std::vector<std::thread> m_threads;
};

// While one lives, every flush of a file to the disk takes half a second more, as on a
// slow or busy disk: the groups file's save lasts that long.
typedef BOOL(WINAPI* FlushFileBuffersFn)(HANDLE);
FlushFileBuffersFn g_realFlushFileBuffers = NULL;

BOOL WINAPI FlushSlowly(HANDLE hFile)
{
    ::Sleep(500);
    return g_realFlushFileBuffers(hFile);
}

class SlowFlushes
{
public:
    SlowFlushes()
    {
        g_realFlushFileBuffers =
            (FlushFileBuffersFn)(void*)::GetProcAddress(::GetModuleHandleA("kernel32.dll"), "FlushFileBuffers");
        m_pReal = testsupport::PatchImport("kernel32.dll", "FlushFileBuffers", (void*)&FlushSlowly);
    }
    ~SlowFlushes()
    {
        if (m_pReal != NULL) testsupport::PatchImport("kernel32.dll", "FlushFileBuffers", m_pReal);
    }
    bool Patched() const { return m_pReal != NULL; }

private:
    void* m_pReal = NULL;
};

// A window the system does not count as covering the list (it lets clicks through and
// stays on top, never active) over one row of it: there the screen shows a plain block,
// not what the list painted, as a display that lags behind still shows
// what was there before.
class ScreenCover
{
public:
    ~ScreenCover() { Remove(); }
    // Over the row of the list at a point of the screen; true once the screen shows it.
    bool Over(HWND hList, POINT pt)
    {
        CRect rc;
        ::GetClientRect(hList, &rc);
        ::MapWindowPoints(hList, NULL, (POINT*)&rc, 2);
        rc.top = pt.y - 8;
        rc.bottom = pt.y + 8;
        const DWORD dwExStyle = WS_EX_TOPMOST | WS_EX_TRANSPARENT | WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW;
        m_hWnd = ::CreateWindowExA(dwExStyle, "STATIC", "", WS_POPUP | SS_BLACKRECT, rc.left, rc.top, rc.Width(),
                                   rc.Height(), NULL, NULL, NULL, NULL);
        if (m_hWnd == NULL) return false;
        ::ShowWindow(m_hWnd, SW_SHOWNOACTIVATE);
        ::UpdateWindow(m_hWnd);
        HDC hCover = ::GetDC(m_hWnd);
        const COLORREF clrCover = ::GetPixel(hCover, 1, 1);
        ::ReleaseDC(m_hWnd, hCover);
        // Above the text of the row, at both ends: the list's background there.
        const POINT ptLeft = {rc.left + 1, rc.top + 1}, ptRight = {rc.right - 2, rc.top + 1};
        return PumpUntil([&] {
            return realinput::ScreenPixel(ptLeft) == clrCover && realinput::ScreenPixel(ptRight) == clrCover;
        });
    }
    bool Up() const { return m_hWnd != NULL; }
    void Remove()
    {
        if (m_hWnd != NULL) ::DestroyWindow(m_hWnd);
        m_hWnd = NULL;
    }

private:
    HWND m_hWnd = NULL;
};

// Counts the releases of one key that this thread takes off its queue, in any loop (a
// box's own among them). Input and posted messages are each taken in the order they
// came, and a message is handled before the next is taken: once the last key made is
// taken, what came before it has been handled.
class ReleaseWatch
{
public:
    explicit ReleaseWatch(WORD vk)
    {
        Watched() = vk;
        Taken() = 0;
        m_hHook = ::SetWindowsHookExA(WH_GETMESSAGE, Note, NULL, ::GetCurrentThreadId());
    }
    ~ReleaseWatch() { ::UnhookWindowsHookEx(m_hHook); }
    static int Count() { return Taken(); }

private:
    static WORD& Watched()
    {
        static WORD vk = 0;
        return vk;
    }
    static std::atomic<int>& Taken()
    {
        static std::atomic<int> n{0};
        return n;
    }
    static LRESULT CALLBACK Note(int nCode, WPARAM wParam, LPARAM lParam)
    {
        const MSG* p = (const MSG*)lParam;
        if (nCode == HC_ACTION && wParam == PM_REMOVE && p->message == WM_KEYUP && p->wParam == Watched())
            ++Taken();
        return ::CallNextHookEx(NULL, nCode, wParam, lParam);
    }
    HHOOK m_hHook;
};

class MainWindowInputTest : public mainwindowtest::UninstallerFixture
{
protected:
    void SetUp() override
    {
        UninstallerFixture::SetUp();
        if (HasFatalFailure()) return;
        m_hEvent = ::CreateEventA(NULL, TRUE, FALSE, kEventName);
    }
    void TearDown() override
    {
        ::SetEvent(m_hEvent);
        ::CloseHandle(m_hEvent);
        UninstallerFixture::TearDown();
    }
    // A program whose uninstaller waits for the test's event, then deletes the key
    // named (its own: it removes itself).
    void SeedWaiting(const std::string& key, const char* name, const std::string& deletes)
    {
        const std::string command = m_uninstaller + " \"" + m_box.Path() + "\\HKCU\\" + UninstallKeyPath + deletes +
                                    "\" " + kEventName;
        SeedEntry(key, name, command, "", "");
    }

    HANDLE m_hEvent = NULL;
};

}  // namespace

// F5 with the focus in the search box, and while the list is read again a click on one
// row, a double-click on another, a click on a group and letters typed: once the list is
// back, no row is selected, no group is current and no command ran; the letters are the
// search box's text and the list follows it.
TEST_F(MainWindowInputTest, ClicksWhileTheListIsReadAgainActOnNothingAndTypedTextStays)
{
    for (const char* key : {"Alpha", "Beta", "Gamma", "Delta"}) SeedWitness(key, (std::string(key) + " Tools").c_str());
    g_realRegOpenKeyExA = (RegOpenKeyExAFn)(void*)::GetProcAddress(::GetModuleHandleA("advapi32.dll"), "RegOpenKeyExA");
    ASSERT_TRUE(g_realRegOpenKeyExA != NULL);
    RefillWatch refills;
    EXPECT_TRUE(Run([&](CPurgeletDlg& dlg) {
        const POINT ptBeta = RowPoint(dlg, "Beta Tools"), ptGamma = RowPoint(dlg, "Gamma Tools");
        mainwindowtest::AddGroup("Corpus", "corpus");
        CUiManager::GetInstance()->RefreshGroups();
        CExtTreeCtrl& tree = dlg.m_pageUninstall.m_pageGroups.m_wndTree;
        CRect rcGroup;
        tree.GetItemRect(mainwindowtest::TreeItem(dlg, "Corpus"), &rcGroup, TRUE);
        tree.ClientToScreen(&rcGroup);
        ASSERT_TRUE(FocusIn(dlg.m_pageUninstall.m_pageView.m_pageList.m_wndSearch));
        bool bActed = false;
        g_duringRefill = [&] {
            ClickAt(rcGroup.CenterPoint());
            ClickAt(ptBeta);
            ClickAt(ptGamma);
            ClickAt(ptGamma);
            realinput::Type("ga");
            bActed = true;
        };
        void* pReal = testsupport::PatchImport("advapi32.dll", "RegOpenKeyExA", (void*)&OpenActingOnce);
        ASSERT_TRUE(pReal != NULL);
        const size_t nRefills = refills.Count();
        realinput::Tap(VK_F5);
        const bool bRefilled = PumpUntil([&] { return refills.Count() > nRefills && bActed; });
        testsupport::PatchImport("advapi32.dll", "RegOpenKeyExA", pReal);
        g_duringRefill = nullptr;
        ASSERT_TRUE(bRefilled);
        // Whatever would come of the input has come once the double-click time is over.
        EXPECT_TRUE(mainwindowtest::SettleInput());
        EXPECT_EQ("", SelectedRowText(dlg));
        EXPECT_TRUE(CUiManager::GetInstance()->GetSelectedProgram() == NULL);
        EXPECT_TRUE(CGroupManager::GetInstance()->m_pCurrentGroup == NULL);
        EXPECT_EQ("ga", SearchText(dlg));
        EXPECT_EQ("1 of 4 programs found", Status(dlg));
        EXPECT_EQ(0, RowOf(dlg, "Gamma Tools"));
        EXPECT_FALSE(MarkerLeft()) << "a program's command ran";
    }));
}

// The list's own key rule: Alpha selected, and while F5 reads the list again a hand types
// Down, then Alt+A, U, or Down every 60 ms until the list is back and Down, Alt+A, U
// after it. The Downs made before the list was read again are refused and take the
// selection away, and the keys typed on in the same go are dropped with them: no Down
// after the refill picks a row again for the menu's Uninstall, which runs nothing.
TEST_F(MainWindowInputTest, AKeyMadeBeforeARefillTakesTheSelectionAwayAndItsBurstGoesWithIt)
{
    // What the hand types, from inside the refill (bMade once its first key is made) on
    // until the list is back (bBack) and after.
    typedef std::function<void(const std::atomic<bool>& bBack, std::atomic<bool>& bMade)> Hand;
    const struct
    {
        const char* name;
        Hand type;
    } cases[] = {
        {"all inside the refill",
         [](const std::atomic<bool>&, std::atomic<bool>& bMade) {
             TapKeys({{0, VK_DOWN}, {VK_MENU, 'A'}, {0, 'U'}});
             bMade = true;
         }},
        {"typed on after it",
         [](const std::atomic<bool>& bBack, std::atomic<bool>& bMade) {
             realinput::Tap(VK_DOWN);
             bMade = true;
             while (!bBack) realinput::TypePaced({{0, VK_DOWN}});
             realinput::TypePaced({{0, VK_DOWN}, {VK_MENU, 'A'}, {0, 'U'}});
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ::DeleteFileA(UninstallerMarkerPath().c_str());
        SeedWaiting("Alpha", "Alpha Tools", "Alpha");
        for (const char* key : {"Beta", "Gamma"}) SeedWitness(key, (std::string(key) + " Tools").c_str());
        ::SetEvent(m_hEvent);
        g_realRegOpenKeyExA =
            (RegOpenKeyExAFn)(void*)::GetProcAddress(::GetModuleHandleA("advapi32.dll"), "RegOpenKeyExA");
        RefillWatch refills;
        EXPECT_TRUE(Run([&](CPurgeletDlg& dlg) {
            mainwindowtest::ClickRow(dlg, "Alpha Tools");
            ASSERT_TRUE(PumpUntil([&] { return SelectedRowText(dlg) == "Alpha Tools"; }));
            ASSERT_TRUE(FocusIn(List(dlg)));
            std::atomic<bool> bMade{false}, bBack{false}, bTyped{false};
            std::thread hand;
            g_duringRefill = [&] {
                hand = std::thread([&] {
                    c.type(bBack, bMade);
                    bTyped = true;
                });
                SleepUntil([&] { return bMade.load(); });
            };
            void* pReal = testsupport::PatchImport("advapi32.dll", "RegOpenKeyExA", (void*)&OpenActingOnce);
            ASSERT_TRUE(pReal != NULL);
            const size_t nRefills = refills.Count();
            realinput::Tap(VK_F5);
            const bool bRefilled = PumpUntil([&] { return refills.Count() > nRefills && !g_duringRefill; });
            testsupport::PatchImport("advapi32.dll", "RegOpenKeyExA", pReal);
            g_duringRefill = nullptr;
            bBack = true;
            const bool bDone = PumpUntil([&] { return bTyped.load(); });
            if (hand.joinable()) hand.join();
            ASSERT_TRUE(bRefilled);
            ASSERT_TRUE(bDone);
            EXPECT_TRUE(mainwindowtest::SettleInput());
            if (CExtPopupMenuWnd::IsMenuTracking()) realinput::Tap(VK_ESCAPE);
            PumpUntil([] { return !CExtPopupMenuWnd::IsMenuTracking(); });
            EXPECT_EQ("", SelectedRowText(dlg));
            EXPECT_TRUE(EntryExists("Alpha")) << "Alpha, which the user moved away from, ran";
            EXPECT_FALSE(MarkerLeft()) << "a program below Alpha ran";
        }));
    }
}

// Beta, in the middle row, acted on by a command that fills the list again: a double-click
// on it (its uninstaller runs 0, 0.5, 1.5 or 5 s and removes its own entry), the toolbar's
// Remove answered with a click on Yes, F5, Options answered OK, Add to Group answered OK
// while the list shows "Other", the group editor's Apply, the editor's typing applied by
// Yes to the question a click on another group in the tree asks (the editor then shows
// that group and is cancelled), or the groups pane's Delete answered with the Y key while
// the list shows the group (Beta comes back where Gamma stood). The groups file is slow
// to write (a save after the re-filter is part of the command), or cannot be written,
// and the box that says so stays up 1.5 s after the refill. In some cases the machine is
// kept busy (the window's thread runs late and shows the new rows well after the
// command), or the window's thread, once it painted the rows, runs on 0.5 s before it
// waits for input (the system shows them only then), or the screen shows Beta's row as it
// was for 0.7 s after the paint (a window the system does not count as covering lies over
// it, as a display that lags shows the old rows).
// The times are the program's own: when it saw the screen show the rows, no sooner than
// the test let the screen show them, and the times stamped on the clicks. 0.5 to 0.95 s
// after then, a double-click at the same place runs nothing and leaves nothing selected,
// also when its second half comes after the second is over, and also when the system
// stamps it as made after the second while its first press was taken within it (the
// window's thread is held until the press waits, so that it is taken before the rest's
// timer); 1.15 to 1.3 s after it, at its own time (or once the window's thread ended the
// rest, should a busy machine run it late), it runs the program the user sees there. The
// rest ends, by the program's own clock, a second after it saw the rows, or a moment later.
TEST_F(MainWindowInputTest, NoRowDoubleClickActsWithinASecondOfTheRefillAfterACommand)
{
    enum Command
    {
        DoubleClick,
        Remove,
        Refresh,
        Options,
        AddToGroup,
        Apply,
        ApplyByYes,
        DeleteGroup
    };
    const char* const kCommandNames[] = {"a double-click", "Remove", "F5",           "Options",
                                         "Add to Group",   "Apply",  "Apply by Yes", "Delete"};
    const bool kBusy = true;
    const struct
    {
        Command command;
        int nRunMs;
        DWORD dwAfterMs;
        const char* ran;
        const char* status;
        bool bBusy;
        DWORD dwSecondMs;  // how long after the first half the second comes
        DWORD dwLateMs;    // how long the window's thread runs on once it painted the rows
        bool bSaveFails;   // the groups file is read-only: a box says the change is not saved
        DWORD dwStampedMs;  // stamped as made this long after the rows show, and taken after that
        DWORD dwCoveredMs;  // how long after the paint the screen shows Beta's row as it was
    } cases[] = {
        {DoubleClick, 0, 600, "Beta Tools\n", "2 of 2"},
        {DoubleClick, 500, 750, "Beta Tools\n", "2 of 2"},
        {DoubleClick, 1500, 600, "Beta Tools\n", "2 of 2"},
        {DoubleClick, 5000, 750, "Beta Tools\n", "2 of 2"},
        {Remove, 0, 500, "", "2 of 2"},
        {Remove, 0, 600, "", "2 of 2"},
        {Remove, 0, 950, "", "2 of 2"},
        {Remove, 0, 1150, "Gamma Tools\n", "2 of 2"},
        {Remove, 0, 950, "", "2 of 2", false, 400},
        {Remove, 0, 800, "", "2 of 2", false, 0, 500},
        {Remove, 0, 300, "", "2 of 2", false, 0, 0, false, 1300},
        {Remove, 0, 900, "", "2 of 2", false, 400, 0, false, 1300},
        {Remove, 0, 600, "", "2 of 2", kBusy},
        {Remove, 0, 600, "", "2 of 2", false, 450},
        {Remove, 0, 1250, "Gamma Tools\n", "2 of 2"},
        {Remove, 0, 1300, "Gamma Tools\n", "2 of 2"},
        {Refresh, 0, 750, "", "3 of 3"},
        {Refresh, 0, 600, "", "3 of 3", false, 0, 0, false, 0, 700},
        {Refresh, 0, 1150, "Beta Tools\n", "2 of 2", false, 0, 0, false, 0, 700},
        {Options, 0, 750, "", "3 of 3"},
        {AddToGroup, 0, 600, "", "2 of 3"},
        {AddToGroup, 0, 750, "", "2 of 3", false, 0, 0, true},
        {AddToGroup, 0, 1200, "Gamma Tools\n", "2 of 3", false, 0, 0, true},
        {Apply, 0, 750, "", "2 of 3"},
        {Apply, 0, 1200, "Gamma Tools\n", "2 of 3"},
        {ApplyByYes, 0, 750, "", "2 of 3"},
        {DeleteGroup, 0, 600, "", "3 of 3"},
        {DeleteGroup, 0, 600, "", "3 of 3", kBusy},
        {DeleteGroup, 0, 750, "", "3 of 3", false, 0, 0, true},
        {DeleteGroup, 0, 1200, "Beta Tools\n", "2 of 2"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(kCommandNames[c.command]) + ", " + std::to_string(c.nRunMs) + " ms run, " +
                     std::to_string(c.dwAfterMs) + " ms after" + (c.bBusy ? ", busy" : "") +
                     (c.dwSecondMs != 0 ? ", second half " + std::to_string(c.dwSecondMs) + " ms later" : "") +
                     (c.dwLateMs != 0 ? ", thread " + std::to_string(c.dwLateMs) + " ms late" : "") +
                     (c.bSaveFails ? ", the save fails" : "") +
                     (c.dwStampedMs != 0 ? ", stamped " + std::to_string(c.dwStampedMs) + " ms after" : "") +
                     (c.dwCoveredMs != 0 ? ", screen " + std::to_string(c.dwCoveredMs) + " ms late" : ""));
        ::SetFileAttributesA(m_groupsFile.c_str(), FILE_ATTRIBUTE_NORMAL);
        TestApp().m_bShowBoxes = false;
        ForgetGroups();
        ::DeleteFileA(mainwindowtest::WitnessLogPath().c_str());
        SeedLogging("Alpha", "Alpha Tools", "0");
        SeedLogging("Beta", "Beta Tools", std::to_string(c.nRunMs), true);
        SeedLogging("Gamma", "Gamma Tools", "0");
        const bool bInRest = c.dwAfterMs < 1000 || c.dwSecondMs != 0 || c.dwLateMs != 0 || c.dwStampedMs != 0;
        // A double-click that acts leaves its row selected while its program stays listed:
        // Gamma's (Beta, under the pointer after F5 or Delete, removes itself).
        const std::string strSelected = !bInRest && std::string(c.ran) == "Gamma Tools\n" ? "Gamma Tools" : "";
        RefillWatch refills;
        EXPECT_TRUE(Run([&](CPurgeletDlg& dlg) {
            if (c.command == AddToGroup || c.command == DeleteGroup) {
                // Add to Group while the list shows "Other"; Delete of the group "Set" it shows.
                mainwindowtest::AddGroup("Set", c.command == AddToGroup ? "zzz" : "alpha");
                if (c.command == DeleteGroup) CGroupManager::GetInstance()->m_Groups.back()->AddKeyword("gamma");
                CUiManager::GetInstance()->RefreshGroups();
                CExtTreeCtrl& tree = dlg.m_pageUninstall.m_pageGroups.m_wndTree;
                CRect rcOther;
                tree.GetItemRect(mainwindowtest::TreeItem(dlg, c.command == AddToGroup ? "Other" : "Set"), &rcOther,
                                 TRUE);
                tree.ClientToScreen(&rcOther);
                ClickAt(rcOther.CenterPoint());
                ASSERT_TRUE(PumpUntil([] { return CGroupManager::GetInstance()->m_pCurrentGroup != NULL; }));
            }
            if (c.command == ApplyByYes) {
                // The group the click in the tree goes to.
                mainwindowtest::AddGroup("Tools", "zzz");
                CUiManager::GetInstance()->RefreshGroups();
            }
            if (c.bSaveFails) {
                ASSERT_TRUE(SaveGroupsFile(false));
                ASSERT_TRUE(::SetFileAttributesA(m_groupsFile.c_str(), FILE_ATTRIBUTE_READONLY));
                TestApp().m_bShowBoxes = true;
            }
            ASSERT_TRUE(FocusIn(List(dlg)));
            mainwindowtest::WaitUntilListTakesClicks();
            // Where Beta stands, and after Delete Beta comes back: the place is Gamma's row.
            const char* const pszUnder = c.command == DeleteGroup ? "Gamma Tools" : "Beta Tools";
            ASSERT_GE(RowOf(dlg, pszUnder), 0) << pszUnder << " is not listed";
            POINT pt = RowPoint(dlg, pszUnder);
            const HWND hList = List(dlg).m_hWnd;
            const CPageUninstallList& page = dlg.m_pageUninstall.m_pageView.m_pageList;
            const bool bSelects = c.command == Remove || c.command == Options || c.command == AddToGroup;
            const bool bAsks = bSelects || c.command == DeleteGroup || c.command == ApplyByYes;
            if (bSelects) {
                ClickAt(pt);
                ASSERT_TRUE(PumpUntil([&] { return SelectedRowText(dlg) == "Beta Tools"; }));
            }
            ScreenCover cover;
            if (c.dwCoveredMs != 0) ASSERT_TRUE(cover.Over(hList, pt));
            // When the program saw the screen show the rows the command brought, no sooner
            // than the test let the screen show them (the test's own times, on the window's
            // thread); the double-click is stamped from then, whenever the hand's thread runs.
            const ULONGLONG ullSeenBefore = page.CommandRowsSeen();
            std::atomic<DWORD> dwSeen{0};
            std::atomic<bool> bFirstSent{false}, bSecondSent{false}, bRestOver{false};
            ULONGLONG ullProgramSeen = 0, ullRestEnded = 0;
            DWORD dwOver = 0, dwPainted = 0, dwUncovered = 0;
            bool bPainted = false, bCancelled = false;
            std::thread hand([&] {
                SleepUntil([&] { return dwSeen != 0; }, 60000);
                DWORD dwAt = dwSeen.load() + c.dwAfterMs;
                SleepUntil([&] { return (LONG)(::GetTickCount() - dwAt) >= 0; });
                if (!bInRest) {
                    // The hand to be served double-clicks at its own time, or once the
                    // program ended its rest, should a busy machine run the window's thread
                    // late (when the rest ended by the program's clock is checked below).
                    SleepUntil([&] { return bRestOver.load(); }, 60000);
                    const DWORD dwNow = ::GetTickCount();
                    if ((LONG)(dwNow - dwAt) > 0) dwAt = dwNow;
                }
                // A system that took the program's first input late stamps later input
                // as made later than it was.
                const DWORD dwStamp = c.dwStampedMs != 0 ? dwSeen.load() + c.dwStampedMs : dwAt;
                realinput::ClickAtTime(pt, dwStamp);
                bFirstSent = true;
                const DWORD dwSecondAt = dwAt + c.dwSecondMs;
                SleepUntil([&] { return (LONG)(::GetTickCount() - dwSecondAt) >= 0; });
                realinput::ClickAtTime(pt, dwStamp + c.dwSecondMs);
                bSecondSent = true;
            });
            ownedbox::BoxWatcher box(dlg.m_hWnd, [&](HWND hBox) {
                if (c.command != DeleteGroup) {
                    ownedbox::ClickBoxButton(hBox, c.command == Remove || c.command == ApplyByYes ? IDYES : IDOK);
                } else {
                    GUITHREADINFO info;
                    SleepUntil([&] { return realinput::ThreadInputOf(hBox, info) && info.hwndActive == hBox; },
                               ownedbox::kBoxWaitMs);
                    realinput::Tap('Y');
                }
                if (!c.bSaveFails) return;
                // The box that says the groups are not saved, read for 1.5 s after the
                // refill and answered with a click on OK.
                HWND hFailed = NULL;
                SleepUntil([&] { return (hFailed = ownedbox::FindOpenBox(dlg.m_hWnd)) != NULL && hFailed != hBox; },
                           ownedbox::kBoxWaitMs);
                const DWORD dwUp = ::GetTickCount();
                SleepUntil([&] { return ::GetTickCount() - dwUp >= 1500; }, 5000);
                ownedbox::ClickBoxButton(hFailed, IDOK);
            });
            if (!bAsks) box.Stop();
            // A busy machine, and a slow disk under the groups file's save.
            BusyMachine busy(c.bBusy);
            SlowFlushes slow;
            ASSERT_TRUE(slow.Patched());
            const size_t nRefills = refills.Count(hList);
            if (c.command == DoubleClick) {
                ClickAt(pt);
                ClickAt(pt);
            } else if (c.command == Refresh) {
                realinput::Tap(VK_F5);
            } else if (c.command == AddToGroup) {
                ::PostMessageA(dlg.m_hWnd, WM_COMMAND, ID_PROGRAM_ADD_TO_GROUP, 0);
            } else if (c.command == Apply || c.command == ApplyByYes) {
                CPageUninstallGroupEditor& editor = dlg.m_pageUninstall.m_pageEditor;
                ASSERT_TRUE(CUiManager::GetInstance()->ShowGroupEditor(-1));
                editor.m_wndName.SetWindowTextA("Set");
                editor.m_wndKeywords.SetWindowTextA("alpha\r\ngamma");
                CRect rcClick;
                if (c.command == Apply) {
                    editor.m_wndApply.GetWindowRect(&rcClick);
                } else {
                    CExtTreeCtrl& tree = dlg.m_pageUninstall.m_pageGroups.m_wndTree;
                    tree.GetItemRect(mainwindowtest::TreeItem(dlg, "Tools"), &rcClick, TRUE);
                    tree.ClientToScreen(&rcClick);
                }
                ClickAt(rcClick.CenterPoint());
            } else if (c.command == DeleteGroup) {
                CExtToolControlBar& bar = dlg.m_pageUninstall.m_pageGroups.m_wndToolBar;
                ClickAt(bar, mainwindowtest::BarButton(bar, ID_GROUP_DELETE)->Rect().CenterPoint());
            } else {
                const UINT nID = c.command == Remove ? ID_PROGRAM_REMOVE_ENTRY : ID_VIEW_OPTIONS;
                ClickAt(dlg.m_wndToolBar, mainwindowtest::BarButton(dlg.m_wndToolBar, nID)->Rect().CenterPoint());
            }
            const bool bDone = mainwindowtest::PumpUntilAfterEach(
                [&] {
                    const bool bRefilled = refills.Count(hList) > nRefills && ::IsWindowEnabled(dlg.m_hWnd);
                    if (c.command == ApplyByYes && bRefilled && !bCancelled) {
                        // Yes applied the typing, and the editor shows the group clicked:
                        // the user cancels it.
                        CPageUninstallGroupEditor& editor = dlg.m_pageUninstall.m_pageEditor;
                        bCancelled = editor.PostMessage(WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                                                        (LPARAM)editor.m_wndCancel.m_hWnd) != FALSE;
                    }
                    if (dwOver == 0 && bRefilled && ::IsWindowVisible(hList)) {
                        // The list comes back where the editor stood: the place is Beta's row there.
                        if (c.command == Apply || c.command == ApplyByYes) pt = RowPoint(dlg, "Gamma Tools");
                        dwOver = ::GetTickCount();
                        // A busy machine runs the window's thread late: here it does not
                        // run for half a second once the command is over, and shows the
                        // new rows only then.
                        if (c.bBusy) ::Sleep(500);
                    }
                    if (dwOver != 0 && !bPainted && !::GetUpdateRect(hList, NULL, FALSE)) {
                        bPainted = true;
                        dwPainted = ::GetTickCount();
                        // Held up once it painted them, the thread hands the rows to the
                        // screen only when it runs on.
                        if (c.dwLateMs != 0) ::Sleep(c.dwLateMs);
                    }
                    if (bPainted && cover.Up() && ::GetTickCount() - dwPainted >= c.dwCoveredMs) {
                        cover.Remove();
                        dwUncovered = ::GetTickCount();
                    }
                    const ULONGLONG ullSeen = page.CommandRowsSeen();
                    if (dwSeen == 0 && bPainted && !cover.Up() && ullSeen != 0 && ullSeen != ullSeenBefore) {
                        ullProgramSeen = ullSeen;
                        const DWORD dwProgram = (DWORD)ullSeen;
                        dwSeen = dwUncovered != 0 && (LONG)(dwUncovered - dwProgram) > 0 ? dwUncovered : dwProgram;
                        // The hand's press waits in the queue before the thread takes the
                        // rest's timer: it is taken within the rest however late the hand's
                        // thread runs. One whose halves come together is taken only once
                        // the time stamped on it has passed.
                        if (c.dwStampedMs != 0)
                            SleepUntil(
                                [&] {
                                    return c.dwSecondMs != 0 ? bFirstSent.load()
                                                             : bSecondSent && ::GetTickCount() - dwSeen >=
                                                                                  c.dwStampedMs + 100;
                                },
                                60000);
                    }
                    if (!bRestOver && dwSeen != 0 && page.CommandRestOver()) {
                        ullRestEnded = page.CommandRestEnded();
                        bRestOver = true;
                    }
                    return bSecondSent && ::IsWindowEnabled(dlg.m_hWnd);
                },
                60000);
            hand.join();
            box.Join();
            busy.Stop();
            cover.Remove();
            ::SetFileAttributesA(m_groupsFile.c_str(), FILE_ATTRIBUTE_NORMAL);
            TestApp().m_bShowBoxes = false;
            ASSERT_TRUE(bDone);
            EXPECT_TRUE(mainwindowtest::SettleInput());
            PumpUntil([&] { return ::IsWindowEnabled(dlg.m_hWnd); }, 20000);
            const std::string ran = mainwindowtest::WitnessLog();
            EXPECT_EQ(c.ran, ran) << "not the program the user saw ran";
            EXPECT_EQ(strSelected, SelectedRowText(dlg));
            EXPECT_EQ(std::string(c.status) + " programs found", Status(dlg));
            // The rest lasts a second from when the program saw the rows on the screen, by
            // its own clock: its timer ends it then, or a moment later on a busy machine (a
            // timer is the last message a queue gives), well before a second rest would.
            if (!bInRest) ASSERT_NE(0u, ullRestEnded) << "the rest never ended";
            if (ullRestEnded != 0) {
                EXPECT_GE(ullRestEnded - ullProgramSeen, 985u) << "the rest ended early";
                EXPECT_LE(ullRestEnded - ullProgramSeen, 1750u) << "the rest ended late";
            }
        }));
    }
}

// "Slow" selected and the toolbar's Uninstall clicked; input the program drops on its own
// (Down or a click on another row while the uninstaller runs, a click while the list is
// read again after it or after F5), and once that input's double-click time is over,
// Alt+A, U: the program the dropped input would have changed is the target no more, so
// the menu's Uninstall runs nothing. "Slow" ran once (after F5, never), and no row is
// selected. Shift, Ctrl or Alt alone changes no program: "Slow" stays the target and
// runs again.
TEST_F(MainWindowInputTest, InputTheProgramDropsLeavesNoTargetBehind)
{
    const struct
    {
        const char* name;
        bool bCommand;   // Uninstall (else F5)
        int nRunMs;      // how long the uninstaller runs
        int nInputAtMs;  // when into the run the input comes (-1: while the list is read again)
        WORD vk;         // the key tapped in the list (0: a click on Beta's row)
    } cases[] = {
        {"Down while a 0.5-s uninstaller runs", true, 500, 200, VK_DOWN},
        {"a click on another row while a 1.5-s uninstaller runs", true, 1500, 700, 0},
        {"Down 3 s into a 5-s uninstaller", true, 5000, 3000, VK_DOWN},
        {"a click while the list is read again after a 0-s uninstaller", true, 0, -1, 0},
        {"a click while F5 reads the list again", false, 0, -1, 0},
        {"Shift alone while a 1-s uninstaller runs", true, 1000, 400, VK_SHIFT},
        {"Ctrl alone while a 1-s uninstaller runs", true, 1000, 400, VK_CONTROL},
        {"Alt alone while a 1-s uninstaller runs", true, 1000, 400, VK_MENU},
    };
    g_realRegOpenKeyExA = (RegOpenKeyExAFn)(void*)::GetProcAddress(::GetModuleHandleA("advapi32.dll"), "RegOpenKeyExA");
    ASSERT_TRUE(g_realRegOpenKeyExA != NULL);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ::DeleteFileA(mainwindowtest::WitnessLogPath().c_str());
        SeedLogging("Slow", "Slow", std::to_string(c.nRunMs));
        SeedLogging("Beta", "Beta Tools", "0");
        SeedLogging("Gamma", "Gamma Tools", "0");
        RefillWatch refills;
        EXPECT_TRUE(Run([&](CPurgeletDlg& dlg) {
            const HWND hDlg = dlg.m_hWnd;
            mainwindowtest::ClickRow(dlg, "Slow");
            ASSERT_TRUE(PumpUntil([&] { return SelectedRowText(dlg) == "Slow"; }));
            ASSERT_TRUE(FocusIn(List(dlg)));
            const POINT ptBeta = RowPoint(dlg, "Beta Tools");
            const auto act = [&] {
                if (c.vk == 0)
                    ClickAt(ptBeta);
                else
                    realinput::Tap(c.vk);
            };
            std::atomic<bool> bActed{false};
            std::thread hand;
            void* pReal = NULL;
            if (c.nInputAtMs < 0) {
                g_duringRefill = [&] {
                    act();
                    bActed = true;
                };
                pReal = testsupport::PatchImport("advapi32.dll", "RegOpenKeyExA", (void*)&OpenActingOnce);
                ASSERT_TRUE(pReal != NULL);
            } else {
                hand = std::thread([&] {
                    if (SleepUntil([&] { return !::IsWindowEnabled(hDlg); }, 20000)) {
                        const DWORD dwStart = ::GetTickCount();
                        SleepUntil([&] { return ::GetTickCount() - dwStart >= (DWORD)c.nInputAtMs; }, 20000);
                        act();
                    }
                    bActed = true;
                });
            }
            const size_t nRefills = refills.Count();
            if (c.bCommand)
                ClickAt(dlg.m_wndToolBar,
                        mainwindowtest::BarButton(dlg.m_wndToolBar, ID_PROGRAM_UNINSTALL)->Rect().CenterPoint());
            else
                realinput::Tap(VK_F5);
            const bool bBack =
                PumpUntil([&] { return bActed && ::IsWindowEnabled(hDlg) && refills.Count() > nRefills; }, 20000);
            if (hand.joinable()) hand.join();
            if (pReal != NULL) testsupport::PatchImport("advapi32.dll", "RegOpenKeyExA", pReal);
            g_duringRefill = nullptr;
            ASSERT_TRUE(bBack);
            // The user's next keys, well after the dropped input.
            EXPECT_TRUE(mainwindowtest::SettleInput());
            TapKeys({{VK_MENU, 'A'}, {0, 'U'}});
            EXPECT_TRUE(mainwindowtest::SettleInput());
            if (CExtPopupMenuWnd::IsMenuTracking()) realinput::Tap(VK_ESCAPE);
            PumpUntil([] { return !CExtPopupMenuWnd::IsMenuTracking(); });
            const bool bModifier = c.vk == VK_SHIFT || c.vk == VK_CONTROL || c.vk == VK_MENU;
            const std::string ran = bModifier ? "Slow\nSlow\n" : c.bCommand ? "Slow\n" : "";
            PumpUntil([&] { return mainwindowtest::WitnessLog() == ran && ::IsWindowEnabled(hDlg); });
            EXPECT_EQ(ran, mainwindowtest::WitnessLog());
            EXPECT_EQ(bModifier ? "Slow" : "", SelectedRowText(dlg));
            EXPECT_EQ(bModifier, CUiManager::GetInstance()->GetTargetProgram() != NULL);
        }));
    }
}

// Alpha's uninstaller runs 0 or 1.5 s with the focus in the search box; while the list is
// read again after it, "ga" is typed: the letters are the search box's text and the list
// follows them.
TEST_F(MainWindowInputTest, LettersTypedWhileTheListIsReadAgainAfterACommandStay)
{
    g_realRegOpenKeyExA = (RegOpenKeyExAFn)(void*)::GetProcAddress(::GetModuleHandleA("advapi32.dll"), "RegOpenKeyExA");
    ASSERT_TRUE(g_realRegOpenKeyExA != NULL);
    for (int nRunMs : {0, 1500}) {
        SCOPED_TRACE(nRunMs);
        ::DeleteFileA(mainwindowtest::WitnessLogPath().c_str());
        SeedLogging("Alpha", "Alpha Tools", std::to_string(nRunMs));
        for (const char* key : {"Beta", "Gamma", "Delta"}) SeedLogging(key, (std::string(key) + " Tools").c_str(), "0");
        RefillWatch refills;
        EXPECT_TRUE(Run([&](CPurgeletDlg& dlg) {
            mainwindowtest::ClickRow(dlg, "Alpha Tools");
            ASSERT_TRUE(PumpUntil([&] { return SelectedRowText(dlg) == "Alpha Tools"; }));
            ASSERT_TRUE(FocusIn(dlg.m_pageUninstall.m_pageView.m_pageList.m_wndSearch));
            bool bTyped = false;
            g_duringRefill = [&] {
                realinput::Type("ga");
                bTyped = true;
            };
            void* pReal = testsupport::PatchImport("advapi32.dll", "RegOpenKeyExA", (void*)&OpenActingOnce);
            ASSERT_TRUE(pReal != NULL);
            const size_t nRefills = refills.Count();
            TapKeys({{VK_MENU, 'A'}, {0, 'U'}});
            const bool bBack = PumpUntil(
                [&] { return bTyped && ::IsWindowEnabled(dlg.m_hWnd) && refills.Count() > nRefills; }, 20000);
            testsupport::PatchImport("advapi32.dll", "RegOpenKeyExA", pReal);
            g_duringRefill = nullptr;
            ASSERT_TRUE(bBack);
            EXPECT_TRUE(mainwindowtest::SettleInput());
            EXPECT_EQ("ga", SearchText(dlg));
            EXPECT_EQ("1 of 4 programs found", Status(dlg));
            EXPECT_EQ(0, RowOf(dlg, "Gamma Tools"));
            EXPECT_EQ("Alpha Tools\n", mainwindowtest::WitnessLog());
        }));
    }
}

// While Beta's uninstaller runs: Down Down and a letter in the list, or a click on
// another row and letters in the search box; then, once the window's thread has taken
// them, the uninstaller's own window takes the front and closes while the main window
// cannot be activated. Afterwards no program is selected (the dropped input was moving
// away from Beta), the search box is empty, and the main window is in front with the
// keys where they were.
TEST_F(MainWindowInputTest, KeysAndClicksWhileAProgramRunsReachNothing)
{
    struct Case
    {
        const char* name;
        bool bSearchFocused;
        std::function<void(CPurgeletDlg&)> input;
        WORD vkLast;  // the last key the input releases
    } cases[] = {
        {"Down Down G in the list", false,
         [](CPurgeletDlg&) {
             TapKeys({{0, VK_DOWN}, {0, VK_DOWN}, {0, 'G'}});
         },
         'G'},
        {"a click on Delta and letters in the search box", true,
         [](CPurgeletDlg& dlg) {
             ClickAt(RowPoint(dlg, "Delta Tools"));
             realinput::Type("zq");
         },
         'Q'},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SeedWitness("Alpha", "Alpha Tools");
        // Its uninstaller leaves it in the registry: the refresh keeps it selected.
        SeedWaiting("Beta", "Beta Tools", "NoSuchProgram");
        SeedWitness("Gamma", "Gamma Tools");
        SeedWitness("Delta", "Delta Tools");
        ::ResetEvent(m_hEvent);
        RefillWatch refills;
        EXPECT_TRUE(Run([&](CPurgeletDlg& dlg) {
            const HWND hDlg = dlg.m_hWnd;
            CWnd& search = dlg.m_pageUninstall.m_pageView.m_pageList.m_wndSearch;
            ASSERT_TRUE(FocusIn(List(dlg)));
            mainwindowtest::ClickRow(dlg, "Beta Tools");
            ASSERT_TRUE(PumpUntil([&] { return SelectedRowText(dlg) == "Beta Tools"; }));
            const HWND hFocus = c.bSearchFocused ? search.m_hWnd : List(dlg).m_hWnd;
            ASSERT_TRUE(FocusIn(hFocus));
            const size_t nRefills = refills.Count();
            ReleaseWatch taken(c.vkLast);
            std::atomic<bool> bDone{false};
            std::thread helper([&] {
                if (SleepUntil([&] { return !::IsWindowEnabled(hDlg); }, 20000)) {
                    c.input(dlg);
                    // The uninstaller's window comes after the hand, once the window's
                    // thread has taken what it made. The system routes a key when the
                    // thread takes it, not when it is made: a key still queued when
                    // another thread's window takes the front goes to no window, and
                    // the program never sees it (a busy machine runs the thread late).
                    SleepUntil([&] { return ReleaseWatch::Count() > 0; }, 20000);
                    // The uninstaller's window: in front a moment, then gone while the
                    // main window is still disabled.
                    HWND hOwn = ::CreateWindowExA(0, "Static", "Uninstall", WS_POPUP | WS_VISIBLE, 10, 10, 120, 40,
                                                  NULL, NULL, NULL, NULL);
                    ::SetForegroundWindow(hOwn);
                    SleepUntil([&] { return ::GetForegroundWindow() == hOwn; });
                    ::DestroyWindow(hOwn);
                }
                ::SetEvent(m_hEvent);
                bDone = true;
            });
            ::PostMessageA(hDlg, WM_COMMAND, ID_PROGRAM_UNINSTALL, 0);
            const bool bBack =
                PumpUntil([&] { return bDone && ::IsWindowEnabled(hDlg) && refills.Count() > nRefills; }, 20000);
            helper.join();
            ASSERT_TRUE(bBack);
            EXPECT_TRUE(testsupport::PumpUntilIdle());
            EXPECT_EQ("", SelectedRowText(dlg));
            EXPECT_TRUE(CUiManager::GetInstance()->GetTargetProgram() == NULL);
            EXPECT_EQ("", SearchText(dlg));
            EXPECT_EQ("4 of 4 programs found", Status(dlg));
            EXPECT_EQ(hDlg, ::GetForegroundWindow());
            EXPECT_EQ(hFocus, ::GetFocus());
            EXPECT_FALSE(MarkerLeft()) << "another program's command ran";
        }));
    }
}

// A double-click on the Remove warning's Yes or No where the list's rows lie under the
// button: the second click, which lands on the list once the warning is gone, selects
// no row, and takes the selection away (it was aimed away from the chosen program).
TEST_F(MainWindowInputTest, ADoubleClickOnTheRemoveWarningSelectsNoRowUnderIt)
{
    // The list alone fills the window, so that the warning's buttons lie over its rows.
    ASSERT_TRUE(RegistrySandbox::SetString(HKEY_CURRENT_USER, kOptionsKey, "ShowCats", "FALSE"));
    ASSERT_TRUE(RegistrySandbox::SetString(HKEY_CURRENT_USER, kOptionsKey, "ShowDetails", "FALSE"));
    for (UINT nAnswer : {(UINT)IDYES, (UINT)IDNO}) {
        SCOPED_TRACE(nAnswer == IDYES ? "Yes" : "No");
        SeedWitness("Chosen", "!Chosen");
        SeedFillers(60);
        EXPECT_TRUE(Run([&](CPurgeletDlg& dlg) {
            // The warning stands in the middle of the screen: the window's left half
            // there, where the list's columns are.
            const int cxScreen = ::GetSystemMetrics(SM_CXSCREEN), cyScreen = ::GetSystemMetrics(SM_CYSCREEN);
            dlg.SetWindowPos(NULL, cxScreen / 2 - 300, 0, 800, cyScreen, SWP_NOZORDER);
            ASSERT_TRUE(FocusIn(List(dlg)));
            mainwindowtest::ClickRow(dlg, "!Chosen");
            ASSERT_TRUE(PumpUntil([&] { return SelectedRowText(dlg) == "!Chosen"; }));
            const HWND hList = List(dlg).m_hWnd;
            std::atomic<int> nRowUnder{-1};
            ownedbox::BoxWatcher warning(dlg.m_hWnd, [&](HWND hBox) {
                CRect rc;
                ::GetWindowRect(::GetDlgItem(hBox, nAnswer), &rc);
                LVHITTESTINFO hit = {};
                hit.pt = rc.CenterPoint();
                ::ScreenToClient(hList, &hit.pt);
                ::SendMessageA(hList, LVM_SUBITEMHITTEST, 0, (LPARAM)&hit);
                nRowUnder = hit.iItem;
                ownedbox::ClickBoxButton(hBox, nAnswer);
                // The second press comes as a hand's does, once the warning is gone.
                SleepUntil([&] { return !::IsWindow(hBox) || !::IsWindowVisible(hBox); }, 2000);
                ClickAt(rc.CenterPoint());
            });
            ::PostMessageA(dlg.m_hWnd, WM_COMMAND, ID_PROGRAM_REMOVE_ENTRY, 0);
            ASSERT_TRUE(
                PumpUntil([&] { return warning.m_bFound && ownedbox::FindOpenBox(dlg.m_hWnd) == NULL; }, 20000));
            warning.Join();
            ASSERT_GE(nRowUnder, 0) << "the button does not lie over a row";
            EXPECT_TRUE(mainwindowtest::SettleInput());
            EXPECT_EQ("", SelectedRowText(dlg));
            EXPECT_TRUE(CUiManager::GetInstance()->GetTargetProgram() == NULL);
            EXPECT_EQ(nAnswer == IDNO, EntryExists("Chosen"));
            EXPECT_FALSE(MarkerLeft());
        }));
    }
}

namespace {

// The centre of a window's client area, on the screen.
POINT CentreOnScreen(HWND hWnd)
{
    CRect rc;
    ::GetClientRect(hWnd, &rc);
    ::MapWindowPoints(hWnd, NULL, (POINT*)&rc, 2);
    return rc.CenterPoint();
}

// A left click at a point of the screen, queued straight to the window under it, as a
// system queues the click for a child of a disabled window that it still delivers to.
void PostClick(HWND hWnd, POINT ptScreen)
{
    ::ScreenToClient(hWnd, &ptScreen);
    ::PostMessageA(hWnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(ptScreen.x, ptScreen.y));
    ::PostMessageA(hWnd, WM_LBUTTONUP, 0, MAKELPARAM(ptScreen.x, ptScreen.y));
}

}  // namespace

// Behind the Remove warning (a message box's own loop), Options (the framework's modal
// loop) and a failure box (the framework's message box), a click on a group in the groups
// pane, a click into the search box and letters typed after it reach nothing of the main
// window: the current group, the list and the search text stay as they were, and the
// selection goes; Alt+F4 queued to the panes leaves the window open. The input comes as
// real input, and queued straight to the pane and the search box, as a system that
// delivers input to the children of a disabled window queues it.
TEST_F(MainWindowInputTest, BehindABoxOrADialogNoClickOrKeyReachesTheMainWindow)
{
    const struct
    {
        const char* name;
        UINT nCommand;
        UINT nAnswer;
    } boxes[] = {{"the Remove warning", ID_PROGRAM_REMOVE_ENTRY, IDNO},
                 {"Options", ID_VIEW_OPTIONS, IDCANCEL},
                 {"the box that says the uninstaller cannot be started", ID_PROGRAM_UNINSTALL, IDOK}};
    for (const auto& box : boxes) {
        for (bool bQueued : {false, true}) {
            SCOPED_TRACE(std::string(box.name) + (bQueued ? ", input queued to the controls" : ", real input"));
            ForgetGroups();
            SeedUnrunnable("Alpha", "Alpha Tools");
            SeedWitness("Beta", "Beta Tools");
            SeedWitness("Reader", "Corpus Reader");
            TestApp().m_bShowBoxes = true;
            EXPECT_TRUE(Run([&](CPurgeletDlg& dlg) {
                mainwindowtest::AddGroup("Corpus", "corpus");
                CUiManager::GetInstance()->RefreshGroups();
                ASSERT_TRUE(FocusIn(List(dlg)));
                mainwindowtest::ClickRow(dlg, "Alpha Tools");
                ASSERT_TRUE(PumpUntil([&] { return SelectedRowText(dlg) == "Alpha Tools"; }));
                CExtTreeCtrl& tree = dlg.m_pageUninstall.m_pageGroups.m_wndTree;
                CRect rcGroup;
                tree.GetItemRect(mainwindowtest::TreeItem(dlg, "Corpus"), &rcGroup, TRUE);
                tree.ClientToScreen(&rcGroup);
                const POINT ptGroup = rcGroup.CenterPoint();
                const HWND hTree = tree.m_hWnd, hSearch = dlg.m_pageUninstall.m_pageView.m_pageList.m_wndSearch.m_hWnd;
                const POINT ptSearch = CentreOnScreen(hSearch);
                ReleaseWatch typed('Q');
                std::atomic<bool> bBoxClear{false};
                ownedbox::BoxWatcher watcher(dlg.m_hWnd, [&](HWND hBox) {
                    GUITHREADINFO info;
                    SleepUntil([&] { return realinput::ThreadInputOf(hBox, info) && info.hwndActive == hBox; });
                    CRect rcBox;
                    ::GetWindowRect(hBox, &rcBox);
                    bBoxClear = !rcBox.PtInRect(ptGroup) && !rcBox.PtInRect(ptSearch);
                    const int nTyped = ReleaseWatch::Count();
                    if (bQueued) {
                        PostClick(hTree, ptGroup);
                        PostClick(hSearch, ptSearch);
                        for (char ch : {'z', 'q'}) ::PostMessageA(hSearch, WM_CHAR, ch, 1);
                        // Alt+F4 (F4's scan code, Alt held) asks no close behind the box.
                        for (HWND h : {hTree, hSearch}) ::PostMessageA(h, WM_SYSKEYDOWN, VK_F4, 0x203E0001);
                        ::PostMessageA(hSearch, WM_KEYUP, 'Q', 0xC0000001);
                    } else {
                        ClickAt(ptGroup);
                        ClickAt(ptSearch);
                        realinput::Type("zq");
                    }
                    SleepUntil([&] { return ReleaseWatch::Count() > nTyped; });
                    ownedbox::Press(box.nAnswer)(hBox);
                });
                ::PostMessageA(dlg.m_hWnd, WM_COMMAND, box.nCommand, 0);
                ASSERT_TRUE(
                    PumpUntil([&] { return watcher.m_bFound && ownedbox::FindOpenBox(dlg.m_hWnd) == NULL; }, 20000));
                watcher.Join();
                EXPECT_TRUE(bBoxClear) << "the box lies over the group or the search box";
                EXPECT_FALSE(watcher.m_bStuck);
                EXPECT_TRUE(testsupport::PumpUntilIdle());
                EXPECT_TRUE(dlg.ContinueModal() && dlg.IsWindowVisible());
                EXPECT_TRUE(CGroupManager::GetInstance()->m_pCurrentGroup == NULL);
                EXPECT_EQ("", SearchText(dlg));
                EXPECT_EQ("3 of 3 programs found", Status(dlg));
                // The dropped clicks and keys were moving away from Alpha.
                EXPECT_EQ("", SelectedRowText(dlg));
                EXPECT_TRUE(EntryExists("Alpha"));
                EXPECT_FALSE(MarkerLeft());
            }));
            TestApp().m_bShowBoxes = false;
        }
    }
}
