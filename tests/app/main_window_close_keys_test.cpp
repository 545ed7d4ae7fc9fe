// Alt+F4 with real keys, wherever the focus sits in the real main window (a pane, a page's
// control, the group editor), reaches the window's close and ends it, as File > Exit does:
// a control that kept the system's keys for itself would leave the window open. In a
// window the main one opened over itself, the key closes that window alone.
#include "main_window_groups_fixture.h"
#include "support/message_pump.h"
#include <gtest/gtest.h>
#include <atomic>
#include <functional>

using namespace mainwindowgroupstest;

class MainWindowCloseKeysTest : public MainWindowGroupsTest
{
};

TEST_F(MainWindowCloseKeysTest, AltF4ClosesTheWindowWhereverTheFocusIs)
{
    using Editor = CPageUninstallGroupEditor;
    // Each case puts the focus where the user does and names the window that holds it.
    auto click = [](CWnd& wnd) {
        ClickIn(wnd.m_hWnd);
        return wnd.m_hWnd;
    };
    auto given = [](CWnd& wnd) {
        wnd.SetFocus();
        return ::GetFocus();
    };
    const struct
    {
        const char* where;
        bool bEditor;  // New first: the group editor open, the focus in its Name
        std::function<HWND(CPurgeletDlg&, Editor&)> put;
    } cases[] = {
        {"the program list", false, [&](CPurgeletDlg& d, Editor&) { return click(List(d)); }},
        {"the search box", false,
         [&](CPurgeletDlg& d, Editor&) { return click(d.m_pageUninstall.m_pageView.m_pageList.m_wndSearch); }},
        {"the groups tree, a group clicked", false,
         [&](CPurgeletDlg& d, Editor&) {
             ClickGroup(d, "Other");
             return Groups(d).m_wndTree.m_hWnd;
         }},
        {"the groups tree after Apply", true,
         [&](CPurgeletDlg& d, Editor& e) {
             Type("cartoons");
             click(e.m_wndApply);
             return Groups(d).m_wndTree.m_hWnd;
         }},
        {"the details list", false,
         [&](CPurgeletDlg& d, Editor&) { return click(d.m_pageUninstall.m_pageView.m_pageDetails.m_wndDetails); }},
        {"the splitter (its pane)", false,
         [&](CPurgeletDlg& d, Editor&) { return given(d.m_pageUninstall.m_wndSplitter); }},
        {"the Groups caption bar", false,
         [&](CPurgeletDlg& d, Editor&) { return given(d.m_pageUninstall.m_wndGroupsBar); }},
        {"the editor's Name", true, [&](CPurgeletDlg&, Editor& e) { return e.m_wndName.m_hWnd; }},
        {"the editor's Keywords", true, [&](CPurgeletDlg&, Editor& e) { return click(e.m_wndKeywords); }},
        {"the editor's Apply", true,
         [&](CPurgeletDlg&, Editor& e) {
             click(e.m_wndKeywords);
             Tap(VK_TAB);
             return e.m_wndApply.m_hWnd;
         }},
        {"the editor's Cancel", true, [&](CPurgeletDlg&, Editor& e) { return given(e.m_wndCancel); }},
        {"the Group Editor caption bar", true,
         [&](CPurgeletDlg& d, Editor&) { return given(d.m_pageUninstall.m_wndEditorBar); }},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.where);
        EXPECT_TRUE(Run([&](CPurgeletDlg& dlg) {
            ::SetForegroundWindow(dlg.m_hWnd);
            if (c.bEditor)
                NewGroup(dlg);
            const HWND hFocus = c.put(dlg, dlg.m_pageUninstall.m_pageEditor);
            ASSERT_TRUE(PumpUntil([&] { return ::GetFocus() == hFocus && ::IsChild(dlg, hFocus); }));
            TapWith(VK_MENU, VK_F4);
            EXPECT_TRUE(PumpUntil([&] { return !dlg.ContinueModal(); })) << "the window stays open";
        }));
        EXPECT_TRUE(TestApp().m_boxes.empty());
    }
}

// How the box's thread took the last F4: 0 not yet, 1 plain, 2 with Alt held.
static std::atomic<int> g_nF4Taken{0};

static LRESULT CALLBACK SeeF4Taken(int nCode, WPARAM wParam, LPARAM lParam)
{
    const MSG* pMsg = reinterpret_cast<const MSG*>(lParam);
    if (nCode == HC_ACTION && wParam == PM_REMOVE && pMsg->wParam == VK_F4)
    {
        if (pMsg->message == WM_SYSKEYDOWN) g_nF4Taken = 2;
        if (pMsg->message == WM_KEYDOWN) g_nF4Taken = 1;
    }
    return ::CallNextHookEx(NULL, nCode, wParam, lParam);
}

// Alt+F4 tapped as a hand does once the box stands ready: active, with the focus in it.
// Wine lets go of a modifier that SendInput holds when a window of its first gets the
// display's focus (the display's own keyboard holds no such key): a tap that meets that
// moment reaches the box as a plain F4, which no user's hand makes. Such a tap is made
// again, twice at most; a tap the box took with Alt held is judged as it is.
static void AltF4Into(HWND hBox)
{
    GUITHREADINFO info;
    realinput::SleepUntil(
        [&] {
            return realinput::ThreadInputOf(hBox, info) && info.hwndActive == hBox &&
                   (info.hwndFocus == hBox || ::IsChild(hBox, info.hwndFocus));
        },
        ownedbox::kBoxWaitMs);
    HHOOK hHook = ::SetWindowsHookExA(WH_GETMESSAGE, SeeF4Taken, NULL, ::GetWindowThreadProcessId(hBox, NULL));
    for (int nTap = 0; nTap < 3; ++nTap)
    {
        g_nF4Taken = 0;
        TapWith(VK_MENU, VK_F4);
        realinput::SleepUntil([&] { return g_nF4Taken != 0 || !::IsWindow(hBox); }, ownedbox::kBoxWaitMs);
        if (g_nF4Taken != 1) break;
    }
    if (hHook != NULL) ::UnhookWindowsHookEx(hHook);
}

// Alt+F4 made in a window the main one opened over itself (a dialog of the framework's
// own loop, or the system's message box) closes that window alone, with its cancel: the
// main window stays up, and its close is not asked later either.
TEST_F(MainWindowCloseKeysTest, AltF4InADialogOrABoxClosesItAlone)
{
    const struct
    {
        const char* name;
        UINT nCommand;
        bool bProgram;  // the command acts on a selected program
    } windows[] = {{"Options", ID_VIEW_OPTIONS, false},
                   {"About", ID_APP_ABOUT, false},
                   {"Add to Group", ID_PROGRAM_ADD_TO_GROUP, true},
                   {"the Remove question", ID_PROGRAM_REMOVE_ENTRY, true}};
    for (const auto& w : windows)
    {
        SCOPED_TRACE(w.name);
        TestApp().m_bShowBoxes = true;
        EXPECT_TRUE(Run([&](CPurgeletDlg& dlg) {
            ::SetForegroundWindow(dlg.m_hWnd);
            // Add to Group offers the groups of the user's own.
            mainwindowtest::AddGroup("Corpus", "corpus");
            CUiManager::GetInstance()->RefreshGroups();
            if (w.bProgram)
                ClickRow(dlg, "Corpus Reader");
            ownedbox::BoxWatcher watcher(dlg.m_hWnd, [](HWND hBox) { AltF4Into(hBox); });
            ::PostMessageA(dlg.m_hWnd, WM_COMMAND, w.nCommand, 0);
            ASSERT_TRUE(PumpUntil([&] { return watcher.Settled(dlg.m_hWnd); }, ownedbox::kBoxWaitMs + 10000));
            watcher.Join();
            EXPECT_TRUE(watcher.m_bFound);
            EXPECT_FALSE(watcher.m_bStuck) << "Alt+F4 left the window open";
            EXPECT_TRUE(testsupport::PumpUntilIdle());
            EXPECT_TRUE(dlg.ContinueModal() && dlg.IsWindowVisible()) << "the main window closed";
            EXPECT_TRUE(EntryExists("Reader"));
        }));
        TestApp().m_bShowBoxes = false;
        EXPECT_TRUE(TestApp().m_boxes.empty());
    }
}

// The close Alt+F4 asks is decided while the key is handled, before the window's thread
// takes its next message: a start asking then whether the window stays up (a message sent
// from another process, which comes before anything queued) hears that it may close.
TEST_F(MainWindowCloseKeysTest, AltF4DecidesTheCloseBeforeTheNextMessage)
{
    EXPECT_TRUE(Run([&](CPurgeletDlg& dlg) {
        ::SetForegroundWindow(dlg.m_hWnd);
        ClickIn(List(dlg).m_hWnd);
        ASSERT_TRUE(PumpUntil([&] { return ::GetFocus() == List(dlg).m_hWnd; }));
        ASSERT_TRUE(mainwindowtest::SettleInput());
        // As the loop hands the key over: F4 with Alt held, aimed at the focus.
        MSG key = {List(dlg).m_hWnd, WM_SYSKEYDOWN, VK_F4, 0x203E0001, ::GetTickCount(), {0, 0}};
        EXPECT_TRUE(AfxGetApp()->PreTranslateMessage(&key));
        EXPECT_EQ(kMayClose, ::SendMessageA(dlg.m_hWnd, g_nMsgStaysUp, 0, 0));
        EXPECT_FALSE(dlg.ContinueModal());
    }));
}
