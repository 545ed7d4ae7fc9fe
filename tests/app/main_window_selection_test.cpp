// Which program is selected after the list is filled again, driven through the real
// program with real keys and clicks: a refresh keeps the program the user chose (found
// again by its registry key, scrolled into view) or selects none, never another row,
// so a second command sent right after runs nothing the user did not choose; the first
// fill selects nothing; a list off every monitor is no target.
#include "main_window_fixture.h"
#include "owned_box.h"
#include "app/ui_manager.h"
#include "catalogue/program_entry.h"
#include "framework/afxres.h"
#include "res/resource.h"
#include "support/registry_sandbox.h"
#include "toolkit/menus/popup_menu_wnd.h"
#include <gtest/gtest.h>
#include <functional>
#include <string>
#include <vector>

using mainwindowtest::BarButton;
using mainwindowtest::FocusIn;
using mainwindowtest::List;
using mainwindowtest::MarkerLeft;
using mainwindowtest::Pump;
using mainwindowtest::PumpUntil;
using mainwindowtest::RowOf;
using mainwindowtest::RefillWatch;
using mainwindowtest::SelectedRowText;
using mainwindowtest::TestFolder;
using mainwindowtest::UninstallerMarkerPath;
using ownedbox::BoxWatcher;
using realinput::AltLetter;
using realinput::ClickAt;
using realinput::Tap;
using realinput::TapKeys;
using testsupport::RegistrySandbox;

namespace {

const char kChosen[] = "ZZR Chosen";  // sorts last, below the rows a first page shows
const int kFillers = 30;

bool RowInView(CPurgeletDlg& dlg, int nRow)
{
    const int nTop = List(dlg).GetTopIndex();
    return nRow >= nTop && nRow < nTop + List(dlg).GetCountPerPage();
}

// The user scrolls to the row and clicks it.
void ClickRow(CPurgeletDlg& dlg, const char* name)
{
    const int nRow = RowOf(dlg, name);
    List(dlg).EnsureVisible(nRow, FALSE);
    mainwindowtest::WaitUntilListTakesClicks();
    CRect rc;
    List(dlg).GetItemRect(nRow, &rc, LVIR_BOUNDS);
    ClickAt(List(dlg), CPoint(40, rc.CenterPoint().y));
}

void ClickButton(CPurgeletDlg& dlg, UINT nID)
{
    ClickAt(dlg.m_wndToolBar, BarButton(dlg.m_wndToolBar, nID)->Rect().CenterPoint());
}

// Picks an item of the Action menu with the keys: Alt+A, then its letter. A disabled
// item leaves the menu open; Esc closes it then.
void ActionMenuItem(WORD vkLetter)
{
    AltLetter('A');
    ASSERT_TRUE(PumpUntil([] { return CExtPopupMenuWnd::IsMenuTracking(); })) << "the Action menu did not open";
    Tap(vkLetter);
    if (!PumpUntil([] { return !CExtPopupMenuWnd::IsMenuTracking(); }, 1000)) Tap(VK_ESCAPE);
    PumpUntil([] { return !CExtPopupMenuWnd::IsMenuTracking(); });
}

// An answer to a box: Enter, its default button (Yes for the Remove warning).
void PressEnter(HWND hBox)
{
    ::SetForegroundWindow(hBox);
    realinput::SleepUntil([&] { return ::GetForegroundWindow() == hBox; });
    TapKeys({{0, VK_RETURN}});
}

// The toolbar's Remove, its warning answered with Enter; back once the warning closed.
void RemoveAnsweredByEnter(CPurgeletDlg& dlg)
{
    BoxWatcher warning(dlg.GetSafeHwnd(), PressEnter);
    ClickButton(dlg, ID_PROGRAM_REMOVE_ENTRY);
    PumpUntil([&] { return warning.m_bFound.load(); });
    PumpUntil([&] { return ownedbox::FindOpenBox(dlg.GetSafeHwnd()) == NULL; });
}

class MainWindowSelectionTest : public mainwindowtest::UninstallerFixture
{
protected:
    void SetUp() override
    {
        UninstallerFixture::SetUp();
        if (HasFatalFailure()) return;
        // Every program but the chosen one: any of its commands leaves the marker.
        Seed("Witness", "!Witness Top", m_uninstaller);
        for (int i = 0; i < kFillers; ++i) {
            char key[16], name[32];
            wsprintfA(key, "Filler%02d", i);
            wsprintfA(name, "Filler %02d", i);
            Seed(key, name, m_uninstaller);
        }
    }
    // An entry whose commands are all `command`, but its modify command when one is given.
    static void Seed(const std::string& key, const char* name, const std::string& command,
                     const std::string& modify = std::string())
    {
        SeedEntry(key, name, command, command, modify.empty() ? command : modify);
    }
    // The chosen program: its uninstallers delete its key and end at once; its modify
    // command runs and changes nothing, unless another one is given.
    void SeedChosen(const std::string& modify = std::string())
    {
        const std::string base = m_uninstaller + " \"" + m_box.Path() + "\\HKCU\\" + UninstallKeyPath;
        Seed("Chosen", kChosen, base + "Chosen\"", modify.empty() ? base + "NoSuchProgram\"" : modify);
    }
    // Which of the seeded programs' keys exist, in one text.
    std::string KeysLeft()
    {
        std::string keys = EntryExists("Chosen") ? "C" : "-";
        keys += EntryExists("Witness") ? "W" : "-";
        for (int i = 0; i < kFillers; ++i) {
            char key[16];
            wsprintfA(key, "Filler%02d", i);
            keys += EntryExists(key) ? "F" : "-";
        }
        return keys;
    }
};

}  // namespace

// After each command that ends in a full refresh, the chosen program is selected again
// and scrolled into view when it is still listed; otherwise no row is selected, the
// commands are greyed and the details empty. A second Uninstall or Remove sent right
// after then acts on the chosen program or on nothing: no other program's command runs,
// no question comes, and no other key goes.
TEST_F(MainWindowSelectionTest, ARefreshKeepsTheChosenProgramOrSelectsNone)
{
    struct Case
    {
        const char* name;
        std::function<void(CPurgeletDlg&)> command;
        bool bKept;
        const char* modify;  // the chosen program's modify command, NULL: the default
        bool bUndeletable;   // the chosen program's key has a subkey: Remove fails
        size_t nBoxes;       // the application's boxes the command shows
    } cases[] = {
        {"F5", [](CPurgeletDlg&) { Tap(VK_F5); }, true, NULL, false, 0},
        {"the toolbar's Uninstall", [](CPurgeletDlg& dlg) { ClickButton(dlg, ID_PROGRAM_UNINSTALL); }, false, NULL,
         false, 0},
        {"Alt+A, Q (Uninstall Quiet)", [](CPurgeletDlg&) { ActionMenuItem('Q'); }, false, NULL, false, 0},
        {"Alt+A, M (Modify)", [](CPurgeletDlg&) { ActionMenuItem('M'); }, true, NULL, false, 0},
        {"a Modify that cannot start", [](CPurgeletDlg&) { ActionMenuItem('M'); }, true, "none_such_modify.exe",
         false, 1},
        {"the toolbar's Remove, Enter", RemoveAnsweredByEnter, false, NULL, false, 0},
        {"a Remove that fails", RemoveAnsweredByEnter, true, NULL, true, 1},
        {"the toolbar's Options, OK",
         [](CPurgeletDlg& dlg) {
             BoxWatcher options(dlg.GetSafeHwnd(), [](HWND hBox) { ownedbox::ClickBoxButton(hBox, IDOK); });
             ClickButton(dlg, ID_VIEW_OPTIONS);
             PumpUntil([&] { return options.m_bFound.load(); });
             PumpUntil([&] { return ownedbox::FindOpenBox(dlg.GetSafeHwnd()) == NULL; });
         },
         true, NULL, false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SeedChosen(c.modify != NULL ? c.modify : "");
        if (c.bUndeletable) {
            ASSERT_TRUE(RegistrySandbox::SetString(HKEY_CURRENT_USER, UninstallKeyPath + "Chosen\\Parts", "x", "y"));
        }
        ::DeleteFileA(UninstallerMarkerPath().c_str());
        TestApp().m_boxes.clear();
        RefillWatch refills;
        EXPECT_TRUE(Run([&](CPurgeletDlg& dlg) {
            CUiManager* pUi = CUiManager::GetInstance();
            CExtBarButton* pUninstall = BarButton(dlg.m_wndToolBar, ID_PROGRAM_UNINSTALL);
            CExtBarButton* pRemove = BarButton(dlg.m_wndToolBar, ID_PROGRAM_REMOVE_ENTRY);
            const HWND hList = List(dlg).GetSafeHwnd();
            ASSERT_TRUE(FocusIn(List(dlg)));
            ClickRow(dlg, kChosen);
            ASSERT_TRUE(PumpUntil([&] { return SelectedRowText(dlg) == kChosen && !pRemove->IsDisabled(); }));
            // The list starts at the top again, as a refill leaves it.
            List(dlg).EnsureVisible(0, FALSE);
            ASSERT_FALSE(RowInView(dlg, RowOf(dlg, kChosen)));

            const size_t nRefills = refills.Count(hList);
            c.command(dlg);
            ASSERT_TRUE(PumpUntil([&] { return refills.Count(hList) > nRefills && ::IsWindowEnabled(dlg.m_hWnd); },
                                  20000));
            Pump(50);
            EXPECT_EQ(c.nBoxes, TestApp().m_boxes.size());
            EXPECT_FALSE(MarkerLeft()) << "another program's command ran";
            EXPECT_EQ(std::string(c.bKept ? "C" : "-") + "W" + std::string(kFillers, 'F'), KeysLeft());
            if (c.bKept) {
                EXPECT_EQ(kChosen, SelectedRowText(dlg));
                ASSERT_TRUE(pUi->GetTargetProgram() != NULL);
                EXPECT_EQ(kChosen, pUi->GetTargetProgram()->DisplayName);
                EXPECT_TRUE(RowInView(dlg, RowOf(dlg, kChosen))) << "the chosen row is out of view";
                if (c.bUndeletable) return;
                // The next Uninstall is the chosen program's.
                ASSERT_TRUE(PumpUntil([&] { return !pUninstall->IsDisabled(); }));
                ClickButton(dlg, ID_PROGRAM_UNINSTALL);
                EXPECT_TRUE(PumpUntil([&] { return !EntryExists("Chosen") && refills.Count(hList) > nRefills + 1; },
                                      20000));
                Pump(50);
                EXPECT_FALSE(MarkerLeft()) << "another program's command ran";
                return;
            }
            EXPECT_EQ("", SelectedRowText(dlg));
            EXPECT_TRUE(pUi->GetSelectedProgram() == NULL);
            EXPECT_EQ(0, dlg.m_pageUninstall.m_pageView.m_pageDetails.m_wndDetails.GetItemCount());
            EXPECT_TRUE(PumpUntil([&] { return pUninstall->IsDisabled() && pRemove->IsDisabled(); }));

            // A second Uninstall and Remove, by the toolbar, the keys and posted, run
            // nothing and ask nothing.
            const std::string keys = KeysLeft();
            TestApp().m_boxes.clear();
            BoxWatcher box(dlg.GetSafeHwnd(), PressEnter);
            ClickButton(dlg, ID_PROGRAM_UNINSTALL);
            ClickButton(dlg, ID_PROGRAM_REMOVE_ENTRY);
            ActionMenuItem('Q');
            for (UINT nID : {ID_PROGRAM_UNINSTALL, ID_PROGRAM_UNINSTALL_QUIET, ID_PROGRAM_REMOVE_ENTRY})
                ::PostMessageA(dlg.GetSafeHwnd(), WM_COMMAND, nID, 0);
            PumpUntil([] { return !mainwindowtest::QueueHolds(QS_POSTMESSAGE | QS_INPUT); });
            Pump(300);
            box.Stop();
            box.Join();
            EXPECT_FALSE(box.m_bFound) << box.m_text;
            EXPECT_TRUE(TestApp().m_boxes.empty());
            EXPECT_FALSE(MarkerLeft()) << "another program's command ran";
            EXPECT_EQ(keys, KeysLeft());
            EXPECT_EQ(nRefills + 1, refills.Count(hList));
        }));
        if (c.bUndeletable) RegistrySandbox::DeleteTree(HKEY_CURRENT_USER, UninstallKeyPath + "Chosen");
    }
}

// F5 leaves the rows in view where they were: the list scrolled by the wheel, the top row
// shows the same program after the refill, found by it (a program above it gone meanwhile),
// or where that program went meanwhile, the row at its place does. The refill selects no
// program the user did not choose, and the one chosen stays selected.
TEST_F(MainWindowSelectionTest, F5KeepsTheRowsInViewWhereTheyWere)
{
    enum Gone { None, TheTop, OneAbove };
    const struct
    {
        const char* what;
        bool bChoose;  // the row below the top chosen first
        Gone gone;     // the program another program removes before F5
    } cases[] = {
        {"nothing chosen", false, None},
        {"a program in view chosen", true, None},
        {"the top program gone meanwhile", false, TheTop},
        {"a program above the top gone meanwhile", true, OneAbove},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        RefillWatch refills;
        std::string strGone;
        EXPECT_TRUE(Run([&](CPurgeletDlg& dlg) {
            const HWND hList = List(dlg).GetSafeHwnd();
            ASSERT_TRUE(FocusIn(List(dlg)));
            // One notch of the wheel over the list, as the hand turns it.
            CRect rc;
            List(dlg).GetClientRect(&rc);
            List(dlg).ClientToScreen(&rc);
            realinput::SendMouse(0, rc.CenterPoint());
            INPUT wheel = {};
            wheel.type = INPUT_MOUSE;
            wheel.mi.dwFlags = MOUSEEVENTF_WHEEL;
            wheel.mi.mouseData = (DWORD)-WHEEL_DELTA;
            ::SendInput(1, &wheel, sizeof(wheel));
            ASSERT_TRUE(PumpUntil([&] { return List(dlg).GetTopIndex() >= 2; })) << "the wheel scrolled nothing";
            const int nTop = List(dlg).GetTopIndex();
            ASSERT_LT(nTop + List(dlg).GetCountPerPage(), List(dlg).GetItemCount());
            const std::string strChosen = c.bChoose ? (LPCSTR)List(dlg).GetItemText(nTop + 1, 0) : "";
            if (c.bChoose) {
                mainwindowtest::ClickRow(dlg, strChosen.c_str());
                ASSERT_TRUE(PumpUntil([&] { return SelectedRowText(dlg) == strChosen; }));
                ASSERT_EQ(nTop, List(dlg).GetTopIndex());
            }
            std::string strTop = (LPCSTR)List(dlg).GetItemText(nTop, 0);
            if (c.gone != None) {
                strGone = (LPCSTR)List(dlg).GetItemText(c.gone == TheTop ? nTop : nTop - 1, 0);
                ASSERT_EQ(0u, strGone.find("Filler "));
                RegistrySandbox::DeleteTree(HKEY_CURRENT_USER, UninstallKeyPath + "Filler" + strGone.substr(7));
                // Its row goes: the next program's takes its place.
                if (c.gone == TheTop) strTop = (LPCSTR)List(dlg).GetItemText(nTop + 1, 0);
            }
            const size_t nRefills = refills.Count(hList);
            Tap(VK_F5);
            ASSERT_TRUE(PumpUntil([&] { return refills.Count(hList) > nRefills; }));
            Pump(50);
            EXPECT_EQ(strTop, (LPCSTR)List(dlg).GetItemText(List(dlg).GetTopIndex(), 0));
            EXPECT_EQ(c.gone == OneAbove ? nTop - 1 : nTop, List(dlg).GetTopIndex());
            EXPECT_EQ(strChosen, SelectedRowText(dlg));
            EXPECT_EQ(c.bChoose, CUiManager::GetInstance()->GetSelectedProgram() != NULL);
        }));
        if (!strGone.empty()) Seed("Filler" + strGone.substr(7), strGone.c_str(), m_uninstaller);
    }
}

// The first fill selects no program: nothing is the target, the program commands are
// greyed and the details empty. The focus rests on the first row, and Down, Space or
// Home picks it.
TEST_F(MainWindowSelectionTest, TheFirstFillSelectsNothingAndTheFirstKeyPicksTheFirstRow)
{
    SeedChosen();
    for (WORD vk : {(WORD)VK_DOWN, (WORD)VK_SPACE, (WORD)VK_HOME}) {
        SCOPED_TRACE(vk);
        EXPECT_TRUE(Run([&](CPurgeletDlg& dlg) {
            CUiManager* pUi = CUiManager::GetInstance();
            EXPECT_EQ(-1, List(dlg).GetNextItem(-1, LVNI_SELECTED));
            EXPECT_TRUE(pUi->GetSelectedProgram() == NULL);
            EXPECT_TRUE(pUi->GetTargetProgram() == NULL);
            EXPECT_EQ(0, dlg.m_pageUninstall.m_pageView.m_pageDetails.m_wndDetails.GetItemCount());
            for (UINT nID : {ID_PROGRAM_UNINSTALL, ID_PROGRAM_UNINSTALL_QUIET, ID_PROGRAM_MODIFY,
                             ID_PROGRAM_REMOVE_ENTRY})
                EXPECT_FALSE(mainwindowtest::CommandEnabled(dlg, nID)) << nID;
            EXPECT_TRUE(PumpUntil([&] { return BarButton(dlg.m_wndToolBar, ID_PROGRAM_UNINSTALL)->IsDisabled(); }));
            EXPECT_EQ(0, List(dlg).GetNextItem(-1, LVNI_FOCUSED));
            EXPECT_EQ(List(dlg).GetSafeHwnd(), ::GetFocus());

            ASSERT_TRUE(FocusIn(List(dlg)));
            Tap(vk);
            EXPECT_TRUE(PumpUntil([&] { return SelectedRowText(dlg) == "!Witness Top"; })) << SelectedRowText(dlg);
            EXPECT_EQ(0, List(dlg).GetNextItem(-1, LVNI_SELECTED));
            ASSERT_TRUE(pUi->GetTargetProgram() != NULL);
            EXPECT_EQ("!Witness Top", pUi->GetTargetProgram()->DisplayName);
            // The next key moves on from there.
            Tap(VK_DOWN);
            EXPECT_TRUE(PumpUntil([&] { return SelectedRowText(dlg) == "Filler 00"; })) << SelectedRowText(dlg);
        }));
    }
    EXPECT_FALSE(MarkerLeft());
}

// With the window dragged down until the list lies below the monitor's work area (only
// the caption, the menu bar and the toolbar on the screen), the chosen program is no
// target: F5 and then the toolbar's Uninstall run nothing. Back on the screen, the
// user's choice is the target again.
TEST_F(MainWindowSelectionTest, AListOffTheMonitorIsNoTarget)
{
    SeedChosen();
    EXPECT_TRUE(Run([&](CPurgeletDlg& dlg) {
        CUiManager* pUi = CUiManager::GetInstance();
        CExtBarButton* pUninstall = BarButton(dlg.m_wndToolBar, ID_PROGRAM_UNINSTALL);
        ASSERT_TRUE(FocusIn(List(dlg)));
        ClickRow(dlg, kChosen);
        ASSERT_TRUE(PumpUntil([&] { return SelectedRowText(dlg) == kChosen && !pUninstall->IsDisabled(); }));
        ASSERT_TRUE(pUi->IsProgramListOnScreen());

        RECT rcWork;
        ASSERT_TRUE(::SystemParametersInfoA(SPI_GETWORKAREA, 0, &rcWork, 0));
        CRect rcWindow, rcList, rcBar;
        dlg.GetWindowRect(&rcWindow);
        List(dlg).GetWindowRect(&rcList);
        dlg.m_wndToolBar.GetWindowRect(&rcBar);
        ASSERT_LT(rcBar.bottom, rcList.top);
        // The list's top just below the work area's bottom; the toolbar above it.
        const int nTop = rcWork.bottom - (rcList.top - rcWindow.top) + 2;
        dlg.SetWindowPos(NULL, rcWindow.left, nTop, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        dlg.m_wndToolBar.GetWindowRect(&rcBar);
        ASSERT_LE(rcBar.bottom, rcWork.bottom) << "the toolbar must stay on the screen";
        EXPECT_FALSE(pUi->IsProgramListOnScreen());
        EXPECT_TRUE(pUi->GetTargetProgram() == NULL);
        // The toolbar follows on the next idle message, as after a drag.
        EXPECT_TRUE(PumpUntil([&] {
            ::PostMessageA(dlg.GetSafeHwnd(), WM_NULL, 0, 0);
            return pUninstall->IsDisabled();
        }));

        RefillWatch refills;
        ASSERT_TRUE(FocusIn(List(dlg)));
        Tap(VK_F5);
        ASSERT_TRUE(PumpUntil([&] { return refills.Count(List(dlg).GetSafeHwnd()) == 1; }));
        ClickButton(dlg, ID_PROGRAM_UNINSTALL);
        ::PostMessageA(dlg.GetSafeHwnd(), WM_COMMAND, ID_PROGRAM_UNINSTALL, 0);
        Pump(300);
        EXPECT_TRUE(EntryExists("Chosen"));
        EXPECT_FALSE(MarkerLeft());
        EXPECT_TRUE(TestApp().m_boxes.empty());

        dlg.SetWindowPos(NULL, rcWindow.left, rcWindow.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        EXPECT_TRUE(pUi->IsProgramListOnScreen());
        ASSERT_TRUE(pUi->GetTargetProgram() != NULL);
        EXPECT_EQ(kChosen, pUi->GetTargetProgram()->DisplayName);
        EXPECT_TRUE(PumpUntil([&] {
            ::PostMessageA(dlg.GetSafeHwnd(), WM_NULL, 0, 0);
            return !pUninstall->IsDisabled();
        }));
    }));
}

// An uninstaller that took its own files with it and left the program's entry (as many
// installers' uninstallers do): the entry stays chosen, and a second Uninstall says the
// uninstaller is gone and the entry may be stale, and how to take it off the list;
// Remove Entry then does.
TEST_F(MainWindowSelectionTest, ASecondUninstallOfAProgramWhoseUninstallerIsGoneSaysTheEntryMayBeStale)
{
    char temp[MAX_PATH] = "";
    ::GetTempPathA(MAX_PATH, temp);
    const std::string folder = std::string(temp) + "purgelet-gone-" + std::to_string(::GetCurrentProcessId());
    ::CreateDirectoryA(folder.c_str(), NULL);
    const std::string uninstaller = folder + "\\Uninstall.exe";
    ASSERT_TRUE(::CopyFileA((TestFolder() + "test_uninstaller.exe").c_str(), uninstaller.c_str(), FALSE));
    const std::string command = "\"" + uninstaller + "\"";
    Seed("Gone", "Gone Tools", command);
    ::DeleteFileA(UninstallerMarkerPath().c_str());
    TestApp().m_boxes.clear();
    RefillWatch refills;
    EXPECT_TRUE(Run([&](CPurgeletDlg& dlg) {
        const HWND hList = List(dlg).GetSafeHwnd();
        CExtBarButton* pUninstall = BarButton(dlg.m_wndToolBar, ID_PROGRAM_UNINSTALL);
        ASSERT_TRUE(FocusIn(List(dlg)));
        ClickRow(dlg, "Gone Tools");
        ASSERT_TRUE(PumpUntil([&] { return SelectedRowText(dlg) == "Gone Tools" && !pUninstall->IsDisabled(); }));
        auto uninstall = [&] {
            const size_t nRefills = refills.Count(hList);
            ClickButton(dlg, ID_PROGRAM_UNINSTALL);
            return PumpUntil([&] { return refills.Count(hList) > nRefills && ::IsWindowEnabled(dlg.m_hWnd); }, 20000);
        };
        ASSERT_TRUE(uninstall());
        EXPECT_TRUE(MarkerLeft());
        EXPECT_TRUE(TestApp().m_boxes.empty());
        ASSERT_TRUE(::DeleteFileA(uninstaller.c_str()));
        ASSERT_TRUE(::RemoveDirectoryA(folder.c_str()));

        ASSERT_EQ("Gone Tools", SelectedRowText(dlg));
        ASSERT_TRUE(PumpUntil([&] { return !pUninstall->IsDisabled(); }));
        ASSERT_TRUE(uninstall());
        ASSERT_EQ(1u, TestApp().m_boxes.size());
        const std::string text = TestApp().m_boxes[0].text;
        EXPECT_EQ("Couldn't launch the program \"" + command + "\"", text.substr(0, text.find('\r')));
        for (const char* words : {"uninstaller is no longer there", "may be stale", "Remove Entry", "(F5)"})
            EXPECT_NE(std::string::npos, text.find(words)) << words << " in " << text;

        RemoveAnsweredByEnter(dlg);
        EXPECT_TRUE(PumpUntil([&] { return !EntryExists("Gone") && RowOf(dlg, "Gone Tools") < 0; }));
        EXPECT_EQ("-W" + std::string(kFillers, 'F'), KeysLeft());
    }));
    ::DeleteFileA(uninstaller.c_str());
    ::RemoveDirectoryA(folder.c_str());
}
