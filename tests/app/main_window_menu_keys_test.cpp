// The program's own window driven from the keyboard and the mouse with real input: the
// menu bar of the real main dialog, while the focus sits in the program list deep inside
// the pages, opens its menus by Alt+letter, Alt, F10, Down and Enter, moves between them
// with Left and Right, closes them with Esc, and leaves no highlighted button behind. A
// popup closes when its window moves, loses the activation or goes away. Keys queued in
// one burst are all handled in order, and a command chosen with the mouse leaves no
// title lit.
#include "main_window_fixture.h"
#include "app/purgelet_dlg.h"
#include "app/ui_manager.h"
#include "framework/afxres.h"
#include "res/resource.h"
#include "support/dib_canvas.h"
#include "support/registry_sandbox.h"
#include "toolkit/core/cmd_tree.h"
#include "toolkit/menus/popup_menu_wnd.h"
#include <gtest/gtest.h>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

using mainwindowtest::ClipboardText;
using mainwindowtest::MoveTo;
using mainwindowtest::PumpUntil;
using realinput::AltLetter;
using realinput::ClickAt;
using realinput::ScreenPixel;
using realinput::SendKeys;
using realinput::Tap;
using testsupport::RegistrySandbox;

namespace {

// The bar's state in one line, so a failing step shows all of it.
std::string BarState(CExtMenuControlBar& bar)
{
    std::string pressed;
    for (int i = 0; i < bar.GetButtonsCount(); ++i)
        if ((bar.GetButtonStyle(i) & TBBS_PRESSED) != 0) pressed += std::to_string(i);
    return std::string("menu ") + (CExtPopupMenuWnd::IsMenuTracking() ? "open" : "closed") + " at " +
           std::to_string(bar.GetMenuTrackingButton()) + ", button tracking " +
           (CExtToolControlBar::g_bButtonMenuTracking ? "on" : "off") + ", keyboard selection " +
           std::to_string(bar.IsFlatTracking() ? bar.GetFlatTrackingIndex() : -1) + ", pressed [" + pressed + "]";
}

std::string OpenAt(int nIndex) { return "menu open at " + std::to_string(nIndex) + ", button tracking on"; }
std::string Selected(int nIndex)
{
    return "menu closed at -1, button tracking off, keyboard selection " + std::to_string(nIndex) + ", pressed [" +
           std::to_string(nIndex) + "]";
}
const char kIdle[] = "menu closed at -1, button tracking off, keyboard selection -1, pressed []";

// The part of BarState a step compares: the open menu, or the whole state when none.
std::string Observed(CExtMenuControlBar& bar)
{
    const std::string s = BarState(bar);
    return CExtPopupMenuWnd::IsMenuTracking() ? s.substr(0, s.find(", keyboard")) : s;
}

class MainWindowMenuKeysTest : public mainwindowtest::MainWindowFixture
{
protected:
    void SetUp() override
    {
        MainWindowFixture::SetUp();
        if (HasFatalFailure()) return;
        ASSERT_TRUE(RegistrySandbox::SetString(HKEY_CURRENT_USER, UninstallKeyPath + "Alpha", "DisplayName",
                                               "Alpha Editor"));
        ASSERT_TRUE(RegistrySandbox::SetString(HKEY_CURRENT_USER, UninstallKeyPath + "Alpha", "Publisher",
                                               "Alpha Works"));
    }
    // Runs the program's main dialog with the focus in the program list and the
    // scenario inside its modal loop.
    void Run(const std::function<void(CPurgeletDlg&)>& scenario)
    {
        MainWindowFixture::Run([scenario](CPurgeletDlg& dlg) {
            ::SetForegroundWindow(dlg.m_hWnd);
            ::SetActiveWindow(dlg.m_hWnd);
            CWnd& list = dlg.m_pageUninstall.m_pageView.m_pageList.m_wndList;
            list.SetFocus();
            ASSERT_TRUE(PumpUntil([&] { return ::GetFocus() == list.m_hWnd && dlg.m_wndMenuBar.IsWindowVisible(); }));
            scenario(dlg);
        });
    }
};

struct KeyStep
{
    const char* name;
    std::function<void()> input;
    std::string expected;  // Observed() once the step has taken effect
};

void RunSteps(CExtMenuControlBar& bar, const std::vector<KeyStep>& steps)
{
    for (const KeyStep& s : steps) {
        SCOPED_TRACE(s.name);
        s.input();
        PumpUntil([&] { return Observed(bar) == s.expected; });
        EXPECT_EQ(s.expected, Observed(bar));
    }
}

}  // namespace

TEST_F(MainWindowMenuKeysTest, KeysOpenMoveAndCloseTheMenusFromTheProgramList)
{
    Run([](CPurgeletDlg& dlg) {
        CExtMenuControlBar& bar = dlg.m_wndMenuBar;
        ASSERT_EQ(5, bar.GetButtonsCount());
        RunSteps(bar, {
                          {"Alt+F", [] { AltLetter('F'); }, OpenAt(0)},
                          {"Right", [] { Tap(VK_RIGHT); }, OpenAt(1)},
                          {"Right again", [] { Tap(VK_RIGHT); }, OpenAt(2)},
                          {"Left", [] { Tap(VK_LEFT); }, OpenAt(1)},
                          {"Left", [] { Tap(VK_LEFT); }, OpenAt(0)},
                          {"Left wraps to Help", [] { Tap(VK_LEFT); }, OpenAt(4)},
                          {"Right wraps to File", [] { Tap(VK_RIGHT); }, OpenAt(0)},
                          {"Esc", [] { Tap(VK_ESCAPE); }, kIdle},
                          {"Alt+V", [] { AltLetter('V'); }, OpenAt(3)},
                          {"Esc again", [] { Tap(VK_ESCAPE); }, kIdle},
                          {"Alt", [] { Tap(VK_MENU); }, Selected(0)},
                          {"Right selects", [] { Tap(VK_RIGHT); }, Selected(1)},
                          {"Down opens", [] { Tap(VK_DOWN); }, OpenAt(1)},
                          {"Right in the popup", [] { Tap(VK_RIGHT); }, OpenAt(2)},
                          {"Esc closes", [] { Tap(VK_ESCAPE); }, kIdle},
                          {"F10", [] { Tap(VK_F10); }, Selected(0)},
                          {"Left wraps", [] { Tap(VK_LEFT); }, Selected(4)},
                          {"Enter opens", [] { Tap(VK_RETURN); }, OpenAt(4)},
                          {"Esc closes Help", [] { Tap(VK_ESCAPE); }, kIdle},
                          {"Alt then Esc", [] { Tap(VK_MENU); Tap(VK_ESCAPE); }, kIdle},
                      });
        // The keys went to the menus, not to the dialog: it is still open and the list
        // keeps the focus.
        EXPECT_TRUE(dlg.ContinueModal());
        EXPECT_EQ(dlg.m_pageUninstall.m_pageView.m_pageList.m_wndList.m_hWnd, ::GetFocus());
    });
}

TEST_F(MainWindowMenuKeysTest, AMenuOpenedByTheMouseMovesWithLeftAndRight)
{
    Run([](CPurgeletDlg& dlg) {
        CExtMenuControlBar& bar = dlg.m_wndMenuBar;
        CRect rc;
        bar.GetButtonRect(1, rc);
        bar.ClientToScreen(&rc);
        RunSteps(bar, {
                          {"click on Edit", [&] { ClickAt(rc.CenterPoint()); }, OpenAt(1)},
                          {"Right", [] { Tap(VK_RIGHT); }, OpenAt(2)},
                          {"Left", [] { Tap(VK_LEFT); }, OpenAt(1)},
                          {"Left", [] { Tap(VK_LEFT); }, OpenAt(0)},
                          {"Esc", [] { Tap(VK_ESCAPE); }, kIdle},
                      });
    });
}

// The menu bar's filter sees every message of the main dialog; its question whether the
// bars are customized, sent to the dialog, must not come back through the filter (nested
// 66 deep in each message, it made a menu take half a second to open).
TEST_F(MainWindowMenuKeysTest, TheCustomizeQuestionDoesNotNestInTheMainWindowsMessages)
{
    Run([](CPurgeletDlg& dlg) {
        MoveTo({::GetSystemMetrics(SM_CXSCREEN) - 1, ::GetSystemMetrics(SM_CYSCREEN) - 1});  // off the bar
        mainwindowtest::SentCount queries(dlg.m_hWnd, CExtCustomizeSite::g_nMsgQueryCustomizeSite);
        dlg.SendMessage(WM_NULL);
        EXPECT_EQ(0, queries.Count());
        RunSteps(dlg.m_wndMenuBar, {{"Alt+F", [] { AltLetter('F'); }, OpenAt(0)}});
        queries.Stop();
        EXPECT_LT(queries.Count(), 30);  // one per question asked while the menu opens
        RunSteps(dlg.m_wndMenuBar, {{"Esc", [] { Tap(VK_ESCAPE); }, kIdle}});
    });
}

// The open popup goes away with the reason it stood for: the window it hangs from moves,
// another window takes the activation, or the window is destroyed.
TEST_F(MainWindowMenuKeysTest, APopupClosesWhenItsWindowMovesDeactivatesOrCloses)
{
    HWND hPopup = NULL;
    Run([&](CPurgeletDlg& dlg) {
        CExtMenuControlBar& bar = dlg.m_wndMenuBar;
        HWND hOther = ::CreateWindowExA(0, "STATIC", "other", WS_POPUP | WS_VISIBLE, 700, 500, 60, 40, NULL, NULL,
                                        NULL, NULL);
        struct Case
        {
            const char* name;
            std::function<void()> act;
        } cases[] = {
            {"moved", [&] { dlg.SetWindowPos(NULL, 40, 30, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE); }},
            {"deactivated",
             [&] {
                 ::SetForegroundWindow(hOther);
                 ::SetActiveWindow(hOther);
             }},
        };
        for (const Case& c : cases) {
            SCOPED_TRACE(c.name);
            ::SetForegroundWindow(dlg.m_hWnd);
            ::SetActiveWindow(dlg.m_hWnd);
            dlg.m_pageUninstall.m_pageView.m_pageList.m_wndList.SetFocus();
            AltLetter('E');
            ASSERT_TRUE(PumpUntil([&] { return Observed(bar) == OpenAt(1); })) << BarState(bar);
            c.act();
            PumpUntil([&] { return Observed(bar) == kIdle; });
            EXPECT_EQ(kIdle, Observed(bar));
        }
        ::DestroyWindow(hOther);
        ::SetForegroundWindow(dlg.m_hWnd);
        ::SetActiveWindow(dlg.m_hWnd);
        AltLetter('H');
        ASSERT_TRUE(PumpUntil([&] { return Observed(bar) == OpenAt(4); })) << BarState(bar);
        CExtPopupMenuWnd* pPopup = CExtPopupMenuWnd::GetTrackingMenu();
        hPopup = pPopup != NULL ? pPopup->GetSafeHwnd() : NULL;
        EXPECT_TRUE(hPopup != NULL && ::IsWindowVisible(hPopup));
        // The scenario's end closes the dialog with the menu open.
    });
    PumpUntil([&] { return !::IsWindow(hPopup); });
    EXPECT_FALSE(::IsWindow(hPopup));
    EXPECT_FALSE(CExtPopupMenuWnd::IsMenuTracking());
    EXPECT_FALSE(CExtToolControlBar::g_bButtonMenuTracking);
}


namespace {

void ClearClipboard()
{
    if (::OpenClipboard(NULL)) {
        ::EmptyClipboard();
        ::CloseClipboard();
    }
}

}  // namespace

// Keys typed faster than a menu opens or moves are all handled, in order: Alt+E, Down,
// Down, Enter queued at once run the third item of Edit (Copy Publisher), every time;
// so do Right and Left in the burst, which replace the open menu twice on the way.
TEST_F(MainWindowMenuKeysTest, KeysQueuedInOneBurstAreAllHandledInOrder)
{
    Run([](CPurgeletDlg& dlg) {
        CExtMenuControlBar& bar = dlg.m_wndMenuBar;
        CExtReportCtrl& list = dlg.m_pageUninstall.m_pageView.m_pageList.m_wndList;
        list.SetItemState(0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
        ASSERT_TRUE(PumpUntil([] { return CUiManager::GetInstance()->GetSelectedProgram() != NULL; }));
        struct Burst
        {
            const char* name;
            int nTimes;
            std::function<void()> keys;
        } bursts[] = {
            {"Alt+E Down Down Enter", 20,
             [] {
                 SendKeys({{VK_MENU, false}, {'E', false}, {'E', true}, {VK_MENU, true}, {VK_DOWN, false},
                           {VK_DOWN, true}, {VK_DOWN, false}, {VK_DOWN, true}, {VK_RETURN, false}, {VK_RETURN, true}});
             }},
            {"Alt+E Right Left Down Down Enter", 5,
             [] {
                 SendKeys({{VK_MENU, false}, {'E', false}, {'E', true}, {VK_MENU, true}, {VK_RIGHT, false},
                           {VK_RIGHT, true}, {VK_LEFT, false}, {VK_LEFT, true}, {VK_DOWN, false}, {VK_DOWN, true},
                           {VK_DOWN, false}, {VK_DOWN, true}, {VK_RETURN, false}, {VK_RETURN, true}});
             }},
            // Shift does nothing in a menu and takes it no time: the key after it
            // follows at once.
            {"Alt+E Shift Down Shift Down Enter", 5,
             [] {
                 SendKeys({{VK_MENU, false}, {'E', false}, {'E', true}, {VK_MENU, true}, {VK_SHIFT, false},
                           {VK_SHIFT, true}, {VK_DOWN, false}, {VK_DOWN, true}, {VK_SHIFT, false}, {VK_SHIFT, true},
                           {VK_DOWN, false}, {VK_DOWN, true}, {VK_RETURN, false}, {VK_RETURN, true}});
             }},
        };
        for (const Burst& b : bursts) {
            for (int nTry = 1; nTry <= b.nTimes; ++nTry) {
                SCOPED_TRACE(std::string(b.name) + ", try " + std::to_string(nTry));
                ClearClipboard();
                b.keys();
                std::string clip;
                PumpUntil([&] { return !(clip = ClipboardText()).empty() && Observed(bar) == kIdle; });
                ASSERT_EQ("Alpha Works", clip) << BarState(bar);
                ASSERT_EQ(kIdle, Observed(bar));
            }
        }
        EXPECT_EQ(list.m_hWnd, ::GetFocus());
    });
}

// A hand on the mouse: over the Edit title, a click, down across the title into the
// menu, a click on Copy Application, away to the list. The pointer crossed the title
// while the menu was open; once the command is chosen no title stays lit, and a menu
// opened from the keyboard afterwards lights its own title alone.
TEST_F(MainWindowMenuKeysTest, ACommandChosenWithTheMouseLeavesNoTitleLit)
{
    Run([](CPurgeletDlg& dlg) {
        CExtMenuControlBar& bar = dlg.m_wndMenuBar;
        CWnd& list = dlg.m_pageUninstall.m_pageView.m_pageList.m_wndList;
        CRect rcEdit;
        bar.GetButtonRect(1, rcEdit);
        const CPoint ptFaceClient(rcEdit.left + 3, rcEdit.CenterPoint().y);  // away from the text
        bar.ClientToScreen(&rcEdit);
        const CPoint ptFace(rcEdit.left + 3, rcEdit.CenterPoint().y);
        CRect rcBar, rcList;
        bar.GetClientRect(&rcBar);
        list.GetWindowRect(&rcList);
        // A normal title shows the bar's own background.
        testsupport::DibCanvas canvas(rcBar.Width(), rcBar.Height());
        g_CurrentPaintManager.GetPM()->DrawToolbarBackground(*CDC::FromHandle(canvas.Dc()), rcBar, &bar);
        const COLORREF clrNormal = canvas.Pixel(ptFaceClient.x, ptFaceClient.y);
        MoveTo(rcList.CenterPoint());
        ASSERT_TRUE(PumpUntil([&] { return ScreenPixel(ptFace) == clrNormal; }));
        for (int nTry = 1; nTry <= 6; ++nTry) {
            SCOPED_TRACE("try " + std::to_string(nTry));
            MoveTo(rcEdit.CenterPoint());
            EXPECT_TRUE(PumpUntil([&] { return ScreenPixel(ptFace) != clrNormal; })) << "the hovered title is lit";
            ClickAt(rcEdit.CenterPoint());
            ASSERT_TRUE(PumpUntil([&] { return Observed(bar) == OpenAt(1); })) << BarState(bar);
            CExtPopupMenuWnd* pMenu = CExtPopupMenuWnd::GetTrackingMenu();
            ASSERT_TRUE(pMenu != NULL && pMenu->GetSafeHwnd() != NULL);
            CRect rcItem;
            pMenu->GetItemRect(1, rcItem);
            pMenu->ClientToScreen(&rcItem);
            MoveTo(CPoint(rcEdit.CenterPoint().x + 2, rcEdit.CenterPoint().y + 2));
            MoveTo(CPoint(rcEdit.CenterPoint().x + 2, rcEdit.bottom - 1));
            MoveTo(rcItem.CenterPoint());
            ASSERT_TRUE(PumpUntil([&] { return pMenu->GetCurrentItem() == 1; }));
            ClickAt(rcItem.CenterPoint());
            ASSERT_TRUE(PumpUntil([&] { return !CExtPopupMenuWnd::IsMenuTracking(); })) << BarState(bar);
            MoveTo(rcList.CenterPoint());
            PumpUntil([&] { return ScreenPixel(ptFace) == clrNormal && bar.GetHoverButton() < 0; });
            EXPECT_EQ(kIdle, BarState(bar));
            EXPECT_EQ(-1, bar.GetHoverButton());
            EXPECT_FALSE(bar.GetButton(1)->IsHot());
            EXPECT_EQ(clrNormal, ScreenPixel(ptFace));
            AltLetter('V');
            ASSERT_TRUE(PumpUntil([&] { return Observed(bar) == OpenAt(3); })) << BarState(bar);
            EXPECT_EQ(clrNormal, ScreenPixel(ptFace)) << "two titles lit at once";
            Tap(VK_ESCAPE);
            ASSERT_TRUE(PumpUntil([&] { return Observed(bar) == kIdle; })) << BarState(bar);
            EXPECT_EQ(clrNormal, ScreenPixel(ptFace));
        }
    });
}

namespace {

// The order of the old menu's end (G), the next one's show (S), and the paints (P) and
// timer ticks (T) the thread's loops take off the queue meanwhile.
std::string g_switch;
HWND g_hOldMenu = NULL;

LRESULT CALLBACK WatchQueue(int nCode, WPARAM wParam, LPARAM lParam)
{
    const UINT m = reinterpret_cast<const MSG*>(lParam)->message;
    if (nCode == HC_ACTION && wParam == PM_REMOVE && (m == WM_PAINT || m == WM_TIMER))
        g_switch += m == WM_PAINT ? 'P' : 'T';
    return ::CallNextHookEx(NULL, nCode, wParam, lParam);
}

LRESULT CALLBACK WatchSent(int nCode, WPARAM wParam, LPARAM lParam)
{
    const CWPSTRUCT* p = reinterpret_cast<const CWPSTRUCT*>(lParam);
    CWnd* pWnd = CWnd::FromHandlePermanent(p->hwnd);
    if (nCode == HC_ACTION && p->message == WM_NCDESTROY && p->hwnd == g_hOldMenu) g_switch += 'G';
    if (nCode == HC_ACTION && p->message == WM_WINDOWPOSCHANGED && pWnd != NULL &&
        (reinterpret_cast<const WINDOWPOS*>(p->lParam)->flags & SWP_SHOWWINDOW) != 0 &&
        pWnd->IsKindOf(RUNTIME_CLASS(CExtPopupMenuWnd)))
        g_switch += 'S';
    return ::CallNextHookEx(NULL, nCode, wParam, lParam);
}

}  // namespace

// Right and Left replace the open menu at once: nothing waits between the old menu's
// end and the next one's show for the windows it covered to repaint, nor for a timer.
TEST_F(MainWindowMenuKeysTest, TheNextMenuShowsBeforeTheWindowsUnderTheOldOneRepaint)
{
    Run([](CPurgeletDlg& dlg) {
        CExtMenuControlBar& bar = dlg.m_wndMenuBar;
        AltLetter('F');
        ASSERT_TRUE(PumpUntil([&] { return Observed(bar) == OpenAt(0); })) << BarState(bar);
        const std::pair<WORD, int> steps[] = {{VK_RIGHT, 1}, {VK_LEFT, 0}, {VK_LEFT, 4}};
        for (const auto& step : steps) {
            SCOPED_TRACE(step.second);
            auto painted = [] { return !mainwindowtest::QueueHolds(QS_PAINT); };
            PumpUntil(painted);
            g_hOldMenu = CExtPopupMenuWnd::GetTrackingMenu()->GetSafeHwnd();
            g_switch.clear();
            HHOOK hQueue = ::SetWindowsHookExA(WH_GETMESSAGE, WatchQueue, NULL, ::GetCurrentThreadId());
            HHOOK hSent = ::SetWindowsHookExA(WH_CALLWNDPROC, WatchSent, NULL, ::GetCurrentThreadId());
            Tap(step.first);
            PumpUntil([&] { return Observed(bar) == OpenAt(step.second) && g_switch.find('S') != std::string::npos; });
            ::UnhookWindowsHookEx(hQueue);
            ::UnhookWindowsHookEx(hSent);
            const size_t nGone = g_switch.find('G');
            const std::string between =
                nGone == std::string::npos ? g_switch : g_switch.substr(nGone, g_switch.find('S', nGone) + 1 - nGone);
            EXPECT_EQ("GS", between);
            EXPECT_TRUE(PumpUntil(painted));  // the windows it covered do repaint, afterwards
        }
        Tap(VK_ESCAPE);
        PumpUntil([&] { return Observed(bar) == kIdle; });
    });
}
