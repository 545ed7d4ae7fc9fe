// The main window given up and taken back, through the real program: after a minimise
// and a restore, and after another window was active, the keys go where they went
// before (the search box, the list, the details), not to the first control of the
// window; and a fill of many programs leaves the process heap whole as the heap's own
// checks see it.
#include "main_window_fixture.h"
#include "app/ui_manager.h"
#include "catalogue/program_entry.h"
#include "support/registry_sandbox.h"
#include <gtest/gtest.h>
#include <stdio.h>
#include <string>

using mainwindowtest::FocusIn;
using mainwindowtest::List;
using mainwindowtest::PumpUntil;
using realinput::Tap;
using realinput::Type;
using testsupport::RegistrySandbox;

namespace {
class MainWindowRestoreTest : public mainwindowtest::NoGroupsFixture
{
protected:
    static void Seed(const char* key, const char* name)
    {
        ASSERT_TRUE(RegistrySandbox::SetString(HKEY_CURRENT_USER, UninstallKeyPath + key, "DisplayName", name));
    }
    static std::string Status(CPurgeletDlg& dlg) { return (LPCSTR)dlg.m_wndStatusBar.GetPaneText(0); }
};

// The controls the keys may rest in, each with a way to see that typed keys reach it.
struct FocusCase
{
    const char* name;
    HWND (*control)(CPurgeletDlg&);
};
const FocusCase kFocusCases[] = {
    {"search box", [](CPurgeletDlg& dlg) { return dlg.m_pageUninstall.m_pageView.m_pageList.m_wndSearch.m_hWnd; }},
    {"program list", [](CPurgeletDlg& dlg) { return List(dlg).m_hWnd; }},
    {"details", [](CPurgeletDlg& dlg) { return dlg.m_pageUninstall.m_pageView.m_pageDetails.m_wndDetails.m_hWnd; }},
};

}  // namespace

// Minimised and restored (the caption's button, the taskbar), or left for another
// window and activated again: the focus is back in the control that had it, and a key
// typed then acts there.
TEST_F(MainWindowRestoreTest, TheFocusComesBackToTheControlThatHadIt)
{
    Seed("Alpha", "Alpha Tools");
    Seed("Beta", "Beta Tools");
    EXPECT_TRUE(Run([&](CPurgeletDlg& dlg) {
        HWND hDlg = dlg.m_hWnd;
        HWND hTree = dlg.m_pageUninstall.m_pageGroups.m_wndTree.m_hWnd;
        CWnd other;
        ASSERT_TRUE(other.CreateEx(0, "Static", "other", WS_POPUP | WS_VISIBLE, CRect(0, 0, 80, 40), NULL, 0));
        struct Away
        {
            const char* name;
            std::function<void()> leave, back;
        } aways[] = {
            {"minimised and restored",
             [&] {
                 ::PostMessageA(hDlg, WM_SYSCOMMAND, SC_MINIMIZE, 0);
                 PumpUntil([&] { return ::IsIconic(hDlg) != FALSE; });
             },
             [&] {
                 ::PostMessageA(hDlg, WM_SYSCOMMAND, SC_RESTORE, 0);
                 PumpUntil([&] { return !::IsIconic(hDlg) && ::GetActiveWindow() == hDlg; });
             }},
            {"another window active",
             [&] {
                 ::SetForegroundWindow(other.m_hWnd);
                 PumpUntil([&] { return ::GetActiveWindow() == other.m_hWnd; });
             },
             [&] {
                 ::SetForegroundWindow(hDlg);
                 PumpUntil([&] { return ::GetActiveWindow() == hDlg; });
             }},
        };
        for (const Away& away : aways) {
            for (const FocusCase& c : kFocusCases) {
                SCOPED_TRACE(std::string(away.name) + ", " + c.name);
                HWND hControl = c.control(dlg);
                ASSERT_TRUE(FocusIn(hControl));
                away.leave();
                away.back();
                EXPECT_TRUE(PumpUntil([&] { return ::GetFocus() == hControl; }))
                    << "focus in " << (::GetFocus() == hTree ? "the groups tree" : "another window");
            }
        }
        // A key typed after the restore acts in the search box that had the focus.
        HWND hSearch = kFocusCases[0].control(dlg);
        ASSERT_TRUE(FocusIn(hSearch));
        ::PostMessageA(hDlg, WM_SYSCOMMAND, SC_MINIMIZE, 0);
        ASSERT_TRUE(PumpUntil([&] { return ::IsIconic(hDlg) != FALSE; }));
        ::PostMessageA(hDlg, WM_SYSCOMMAND, SC_RESTORE, 0);
        ASSERT_TRUE(PumpUntil([&] { return !::IsIconic(hDlg) && ::GetFocus() == hSearch; }));
        Type("beta");
        EXPECT_TRUE(PumpUntil([&] { return Status(dlg) == "1 of 2 programs found"; })) << Status(dlg);
        other.DestroyWindow();
    }));
}

// Many programs fill the list (its row tables grow and move many times), are filtered
// by typed keys and refreshed: the process heap stays valid throughout. Run under the
// heap's own free-block checks (WINEDEBUG=warn+heap) this catches any write into memory
// the heap holds free.
TEST_F(MainWindowRestoreTest, AFillAFilterAndARefreshLeaveTheHeapValid)
{
    const int kPrograms = 3000;
    for (int i = 0; i < kPrograms; ++i) {
        char key[32], name[48];
        sprintf(key, "Heap%05d", i);
        sprintf(name, "Heap Program %05d", i);
        Seed(key, name);
    }
    EXPECT_TRUE(::HeapValidate(::GetProcessHeap(), 0, NULL));
    EXPECT_TRUE(Run([&](CPurgeletDlg& dlg) {
        const std::string all = std::to_string(kPrograms) + " of " + std::to_string(kPrograms) + " programs found";
        ASSERT_EQ(all, Status(dlg));
        EXPECT_TRUE(::HeapValidate(::GetProcessHeap(), 0, NULL)) << "after the first fill";
        ASSERT_TRUE(FocusIn(dlg.m_pageUninstall.m_pageView.m_pageList.m_wndSearch.m_hWnd));
        Type("00001");
        const std::string one = "1 of " + std::to_string(kPrograms) + " programs found";
        EXPECT_TRUE(PumpUntil([&] { return Status(dlg) == one; })) << Status(dlg);
        EXPECT_TRUE(::HeapValidate(::GetProcessHeap(), 0, NULL)) << "after the filter";
        mainwindowtest::RefillWatch refills;
        ASSERT_TRUE(FocusIn(List(dlg).m_hWnd));
        Tap(VK_F5);
        EXPECT_TRUE(PumpUntil([&] { return refills.Count(List(dlg).m_hWnd) == 1 && Status(dlg) == one; }));
        EXPECT_TRUE(::HeapValidate(::GetProcessHeap(), 0, NULL)) << "after the refresh";
    }));
}
