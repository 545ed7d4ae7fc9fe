// The program's own window driven from the keyboard and the mouse with real input: the
// menu bar of the real main dialog, while the focus sits in the program list deep inside
// the pages, opens its menus by Alt+letter, Alt, F10, Down and Enter, moves between them
// with Left and Right, closes them with Esc, and leaves no highlighted button behind. A
// popup closes when its window moves, loses the activation or goes away.
#include "main_window_fixture.h"
#include "app/purgelet_dlg.h"
#include "framework/afxres.h"
#include "res/resource.h"
#include "support/registry_sandbox.h"
#include "toolkit/menus/popup_menu_wnd.h"
#include "toolkit/menus/popup_tracking_site.h"
#include <gtest/gtest.h>
#include <fstream>
#include <ctime>
#include <functional>
#include <sstream>
#include <string>

using mainwindowtest::ClickAt;
using mainwindowtest::PumpUntil;
using testsupport::RegistrySandbox;

namespace {

void SendKeys(std::initializer_list<std::pair<WORD, bool>> keys)
{
    INPUT in[8] = {};
    int n = 0;
    for (const auto& k : keys) {
        in[n].type = INPUT_KEYBOARD;
        in[n].ki.wVk = k.first;
        in[n].ki.dwFlags = k.second ? KEYEVENTF_KEYUP : 0;
        ++n;
    }
    ::SendInput(n, in, sizeof(INPUT));
}

void Tap(WORD vk) { SendKeys({{vk, false}, {vk, true}}); }
void AltLetter(WORD vk) { SendKeys({{VK_MENU, false}, {vk, false}, {vk, true}, {VK_MENU, true}}); }

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
        // An open menu drops a key that follows the last one faster than auto-repeat;
        // each step here is a separate key press.
        CExtPopupTrackingSite::g_nLastKeyTime = (long)clock() - 1000;
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
