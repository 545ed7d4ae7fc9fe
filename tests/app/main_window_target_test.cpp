// What a command of the main window acts on, driven through the real program with real
// keys and clicks: no program while the group editor stands in the list's place, none
// while a modal box is up (its keys stay its own), the Remove warning's answer about the
// program it named alone, the text fields' own editing keys, and the toolbar following
// every change of the selection at once.
#include "main_window_fixture.h"
#include "owned_box.h"
#include "app/bar_updates_paused.h"
#include "app/page_uninstall_group_editor.h"
#include "app/page_uninstall_groups.h"
#include "app/ui_manager.h"
#include "catalogue/groups.h"
#include "catalogue/program_entry.h"
#include "framework/afxres.h"
#include "res/resource.h"
#include "support/message_pump.h"
#include "support/registry_sandbox.h"
#include <gtest/gtest.h>
#include <vector>

using mainwindowtest::BarButton;
using mainwindowtest::ClickRow;
using mainwindowtest::ClipboardText;
using mainwindowtest::CommandEnabled;
using mainwindowtest::FocusIn;
using mainwindowtest::List;
using mainwindowtest::Pump;
using mainwindowtest::PumpUntil;
using mainwindowtest::ReadRemoveWarningOfFirstRow;
using mainwindowtest::SelectedRowText;
using mainwindowtest::SetClipboard;
using mainwindowtest::Status;
using mainwindowtest::TextOf;
using ownedbox::BoxWatcher;
using realinput::ClickAt;
using realinput::Tap;
using realinput::TapKeys;
using realinput::TapWith;
using testsupport::RegistrySandbox;

namespace {

const UINT kProgramCommands[] = {
    ID_PROGRAM_UNINSTALL,   ID_PROGRAM_UNINSTALL_QUIET, ID_PROGRAM_MODIFY,         ID_PROGRAM_REMOVE_ENTRY,
    ID_PROGRAM_OPEN_FOLDER, ID_PROGRAM_REGISTRY_ENTRY,  ID_PROGRAM_ADD_TO_GROUP,   ID_EDIT_COPY,
    ID_EDIT_COPY_APPLICATION, ID_EDIT_COPY_PUBLISHER,
};

// Posts each command and lets it run; true when none of them brought up a box of the
// main window or one of the application's own.
bool PostedCommandsShowNoBox(CPurgeletDlg& dlg, std::initializer_list<UINT> commands)
{
    bool bQuiet = true;
    for (UINT nID : commands) {
        TestApp().m_boxes.clear();
        BoxWatcher box(dlg.GetSafeHwnd(), ownedbox::Press(IDNO));
        ::PostMessageA(dlg.GetSafeHwnd(), WM_COMMAND, nID, 0);
        PumpUntil([] { return !mainwindowtest::QueueHolds(QS_POSTMESSAGE); });
        Pump(100);
        box.Stop();
        box.Join();
        if (!box.m_text.empty() || !TestApp().m_boxes.empty()) bQuiet = false;
    }
    return bQuiet;
}

using MainWindowTargetTest = mainwindowtest::CommandsFixture;

}  // namespace

// Select a program, then New in the groups pane: the editor stands in the list's place,
// and no program is the target: the commands are disabled and refused when posted; F5
// typed into the Name field refreshes and keeps the user's choice, unseen and no
// target; back in the list, the program the user chose is the target again.
TEST_F(MainWindowTargetTest, NoProgramIsTheTargetWhileTheGroupEditorShows)
{
    SeedUnrunnable("Alpha", "Alpha Tools");
    SeedUnrunnable("Beta", "Beta Tools");
    CGroupManager::GetInstance()->CreateGroup()->Name = "Media";
    EXPECT_TRUE(Run([&](CPurgeletDlg& dlg) {
        CPageUninstallGroups& groups = dlg.m_pageUninstall.m_pageGroups;
        CPageUninstallGroupEditor& editor = dlg.m_pageUninstall.m_pageEditor;
        CUiManager* pUi = CUiManager::GetInstance();
        CExtBarButton* pUninstall = BarButton(dlg.m_wndToolBar, ID_PROGRAM_UNINSTALL);
        CExtBarButton* pRemove = BarButton(dlg.m_wndToolBar, ID_PROGRAM_REMOVE_ENTRY);
        ASSERT_TRUE(pUninstall != NULL && pRemove != NULL);
        ASSERT_TRUE(FocusIn(List(dlg)));
        ClickRow(dlg, "Beta Tools");
        ASSERT_TRUE(PumpUntil([&] { return SelectedRowText(dlg) == "Beta Tools" && !pRemove->IsDisabled(); }));
        for (UINT nID : kProgramCommands) EXPECT_TRUE(CommandEnabled(dlg, nID)) << nID;

        CRect rcNew = BarButton(groups.m_wndToolBar, ID_GROUP_NEW)->Rect();
        ClickAt(groups.m_wndToolBar, rcNew.CenterPoint());
        ASSERT_TRUE(PumpUntil([&] { return ::GetFocus() == editor.m_wndName.GetSafeHwnd(); }));
        for (int nStep = 0; nStep < 2; ++nStep) {
            SCOPED_TRACE(nStep == 0 ? "New" : "F5 typed into Name");
            if (nStep == 1) {
                SeedUnrunnable("Gamma", "Gamma Tools");
                Tap(VK_F5);
                ASSERT_TRUE(PumpUntil([&] { return Status(dlg) == "3 of 3 programs found"; }));
                ASSERT_TRUE(pUi->GetSelectedProgram() != NULL);
                EXPECT_EQ("Beta Tools", pUi->GetSelectedProgram()->DisplayName);
                EXPECT_EQ("Beta Tools", SelectedRowText(dlg));
            }
            EXPECT_TRUE(pUi->GetTargetProgram() == NULL);
            for (UINT nID : kProgramCommands) EXPECT_FALSE(CommandEnabled(dlg, nID)) << nID;
            EXPECT_TRUE(PumpUntil([&] { return pUninstall->IsDisabled() && pRemove->IsDisabled(); }));
            EXPECT_TRUE(PostedCommandsShowNoBox(dlg, {ID_PROGRAM_REMOVE_ENTRY, ID_PROGRAM_UNINSTALL_QUIET,
                                                      ID_PROGRAM_UNINSTALL, ID_PROGRAM_MODIFY}));
            for (const char* key : {"Alpha", "Beta"}) EXPECT_TRUE(EntryExists(key)) << key;
            EXPECT_EQ(editor.m_wndName.GetSafeHwnd(), ::GetFocus());
        }

        // Cancel: the list is back with the chosen row selected, and every command is
        // enabled again for it.
        ClickAt(editor.m_wndCancel, CPoint(5, 5));
        ASSERT_TRUE(PumpUntil([&] { return pUi->IsProgramListOnScreen(); }));
        ASSERT_TRUE(pUi->GetTargetProgram() != NULL);
        EXPECT_EQ("Beta Tools", pUi->GetTargetProgram()->DisplayName);
        for (UINT nID : kProgramCommands) EXPECT_TRUE(CommandEnabled(dlg, nID)) << nID;
        // F5 with the list on screen keeps it, as any refresh does.
        Tap(VK_F5);
        ASSERT_TRUE(PumpUntil([&] { return SelectedRowText(dlg) == "Beta Tools" && !pRemove->IsDisabled(); }));
        ASSERT_TRUE(pUi->GetTargetProgram() != NULL);
        EXPECT_EQ("Beta Tools", pUi->GetTargetProgram()->DisplayName);
    }));
}

// F5 and Ctrl+C pressed inside the Remove warning neither refresh the list nor copy its
// row; Yes then removes exactly the key the warning named.
TEST_F(MainWindowTargetTest, TheRemoveWarningKeepsTheMainWindowsKeysAndRemovesWhatItNamed)
{
    SeedUnrunnable("Alpha", "Alpha Tools");
    SeedUnrunnable("Beta", "Beta Tools");
    SeedUnrunnable("Gamma", "Gamma Tools");
    mainwindowtest::RefillWatch refills;
    EXPECT_TRUE(Run([&](CPurgeletDlg& dlg) {
        ASSERT_TRUE(FocusIn(List(dlg)));
        ClickRow(dlg, "Gamma Tools");
        ASSERT_TRUE(PumpUntil([&] { return SelectedRowText(dlg) == "Gamma Tools"; }));
        SetClipboard("kept");
        const HWND hList = List(dlg).GetSafeHwnd();
        const size_t nRefills = refills.Count(hList);
        BoxWatcher warning(dlg.GetSafeHwnd(), [&](HWND hBox) {
            ::SetForegroundWindow(hBox);
            // The keys go through the box's loop in order: by the time Y answers, F5 and
            // Ctrl+C have been handled.
            TapKeys({{0, VK_F5}, {VK_CONTROL, 'C'}, {0, 'Y'}});
        });
        ::PostMessageA(dlg.GetSafeHwnd(), WM_COMMAND, ID_PROGRAM_REMOVE_ENTRY, 0);
        ASSERT_TRUE(PumpUntil([&] { return !EntryExists("Gamma"); }));
        warning.Join();
        EXPECT_STREQ(CPurgeletDlg::RemoveWarning("Gamma Tools"), warning.m_text.c_str());
        ASSERT_TRUE(PumpUntil([&] { return Status(dlg) == "2 of 2 programs found"; }));
        // One refill: the one after the removal.
        EXPECT_EQ(nRefills + 1, refills.Count(hList));
        const std::string clip = ClipboardText();
        EXPECT_EQ(std::string::npos, clip.find("Gamma Tools, ")) << clip;
        EXPECT_TRUE(clip == "kept" || clip.find("Are you sure") != std::string::npos) << clip;
        for (const char* key : {"Alpha", "Beta"}) EXPECT_TRUE(EntryExists(key)) << key;
    }));
}

// Another process deletes the program's entry while the warning is up: Yes says that it
// is gone, naming it, and removes nothing else.
TEST_F(MainWindowTargetTest, YesForAnEntryDeletedMeanwhileSaysItIsGone)
{
    SeedUnrunnable("Alpha", "Alpha Tools");
    SeedUnrunnable("Beta", "Beta Tools");
    EXPECT_TRUE(Run([&](CPurgeletDlg& dlg) {
        ASSERT_TRUE(FocusIn(List(dlg)));
        ClickRow(dlg, "Beta Tools");
        ASSERT_TRUE(PumpUntil([&] { return SelectedRowText(dlg) == "Beta Tools"; }));
        BoxWatcher warning(dlg.GetSafeHwnd(), [](HWND hBox) {
            RegistrySandbox::DeleteTree(HKEY_CURRENT_USER, UninstallKeyPath + "Beta");
            ::PostMessageA(hBox, WM_COMMAND, MAKEWPARAM(IDYES, BN_CLICKED), 0);
        });
        dlg.SendMessage(WM_COMMAND, ID_PROGRAM_REMOVE_ENTRY, 0);
        warning.Join();
        ASSERT_EQ(1u, TestApp().m_boxes.size());
        EXPECT_STREQ(CPurgeletDlg::RemovedEntryGone("Beta Tools"), TestApp().m_boxes[0].text.c_str());
        EXPECT_NE(std::string::npos, TestApp().m_boxes[0].text.find("\r\n\r\nBeta Tools"));
        EXPECT_TRUE(EntryExists("Alpha"));
        EXPECT_EQ("1 of 1 programs found", Status(dlg));
    }));
}

// A name far wider than the box: its line, "..." included, shows whole in the box's text
// control, as the box draws it with its own font (WM_GETFONT) in its own width: the
// line's extent and every pixel its glyphs cover lie inside the control and within half
// the narrowest work area, and the screen shows the line ending where the drawing of it
// ends. Wine draws its default message font wider than its extents say (an "x" measures 5
// pixels and covers 6).
TEST_F(MainWindowTargetTest, TheRemoveWarningShowsAShortenedNameWhole)
{
    const std::string names[] = {std::string(65536, 'x'), "Very Long Name " + std::string(600, 'W'),
                                 std::string(150, 'W'), std::string(95, 'x')};
    for (const std::string& name : names) {
        SCOPED_TRACE(name.substr(0, 20) + "... (" + std::to_string(name.size()) + " characters)");
        RegistrySandbox::DeleteTree(HKEY_CURRENT_USER, UninstallKeyPath + "Long");
        SeedUnrunnable("Long", name.c_str());
        EXPECT_TRUE(Run([&](CPurgeletDlg& dlg) {
            // The only program: the user picks its row.
            ASSERT_TRUE(FocusIn(List(dlg)));
            ASSERT_EQ(1, List(dlg).GetItemCount());
            mainwindowtest::ShownRemoveWarning warning;
            ASSERT_NO_FATAL_FAILURE(ReadRemoveWarningOfFirstRow(dlg, warning));
            const ownedbox::ShownNameLine& shown = warning.shown;
            const std::string& line = shown.line;
            ASSERT_GT(line.size(), 23u) << line;
            EXPECT_EQ("...", line.substr(line.size() - 3)) << line;
            EXPECT_EQ(name.substr(0, line.size() - 3), line.substr(0, line.size() - 3));
            EXPECT_LE(shown.nExtent, shown.nClientWidth) << line;
            EXPECT_LT(shown.nDrawnRight, shown.nClientWidth) << line;
            EXPECT_NEAR(shown.nDrawnRight, shown.nScreenRight, 1) << line;
            // Within half the narrowest work area: a line as wide as the box could grow
            // would stretch it across the screen.
            EXPECT_LE(std::max(shown.nExtent, shown.nDrawnRight + 1), ownedbox::HalfNarrowestWorkArea(dlg.m_hWnd));
            EXPECT_TRUE(EntryExists("Long"));
        }));
    }
}

// In the search box and the group editor's fields the editing keys edit the field:
// Ctrl+A, Ctrl+C, Ctrl+X, Ctrl+V, Ctrl+Z and Del. Ctrl+C copies the selected row only
// when the focus is not in a text field; F5 refreshes from a text field too.
TEST_F(MainWindowTargetTest, TheTextFieldsKeepTheirEditingKeys)
{
    SeedUnrunnable("Alpha", "Alpha Tools");
    EXPECT_TRUE(Run([&](CPurgeletDlg& dlg) {
        CPageUninstallList& list = dlg.m_pageUninstall.m_pageView.m_pageList;
        CPageUninstallGroupEditor& editor = dlg.m_pageUninstall.m_pageEditor;
        CPageUninstallGroups& groups = dlg.m_pageUninstall.m_pageGroups;
        ASSERT_TRUE(FocusIn(List(dlg)));
        ClickRow(dlg, "Alpha Tools");
        ASSERT_TRUE(PumpUntil([&] { return SelectedRowText(dlg) == "Alpha Tools"; }));
        struct Field
        {
            const char* name;
            CEdit* pEdit;
        } fields[] = {{"search box", &list.m_wndSearch}, {"Name", &editor.m_wndName}, {"Keywords", &editor.m_wndKeywords}};
        for (const Field& f : fields) {
            SCOPED_TRACE(f.name);
            if (f.pEdit == &editor.m_wndName) {
                list.m_wndSearch.SetWindowText("");
                ClickAt(groups.m_wndToolBar, BarButton(groups.m_wndToolBar, ID_GROUP_NEW)->Rect().CenterPoint());
                ASSERT_TRUE(PumpUntil([&] { return ::GetFocus() == editor.m_wndName.GetSafeHwnd(); }));
            }
            ASSERT_TRUE(FocusIn(*f.pEdit));
            f.pEdit->SetWindowText("kestrel");
            f.pEdit->SetSel(0, 0);
            SetClipboard("other");
            TapWith(VK_CONTROL, 'A');
            EXPECT_TRUE(PumpUntil([&] { return f.pEdit->GetSel() == MAKELONG(0, 7); })) << std::hex << f.pEdit->GetSel();
            TapWith(VK_CONTROL, 'C');
            EXPECT_TRUE(PumpUntil([&] { return ClipboardText() == "kestrel"; })) << ClipboardText();
            TapWith(VK_CONTROL, 'X');
            EXPECT_TRUE(PumpUntil([&] { return TextOf(*f.pEdit).empty(); })) << TextOf(*f.pEdit);
            TapWith(VK_CONTROL, 'V');
            EXPECT_TRUE(PumpUntil([&] { return TextOf(*f.pEdit) == "kestrel"; })) << TextOf(*f.pEdit);
            f.pEdit->SetWindowText("kestrel");
            f.pEdit->SetSel(7, 7);
            Tap('S');
            EXPECT_TRUE(PumpUntil([&] { return TextOf(*f.pEdit) == "kestrels"; })) << TextOf(*f.pEdit);
            TapWith(VK_CONTROL, 'Z');
            EXPECT_TRUE(PumpUntil([&] { return TextOf(*f.pEdit) == "kestrel"; })) << TextOf(*f.pEdit);
            f.pEdit->SetSel(0, 0);
            Tap(VK_DELETE);
            EXPECT_TRUE(PumpUntil([&] { return TextOf(*f.pEdit) == "estrel"; })) << TextOf(*f.pEdit);
            EXPECT_EQ(f.pEdit->GetSafeHwnd(), ::GetFocus());
        }
        // Back in the list, Ctrl+C copies the selected row; F5 from the search box refreshes.
        ClickAt(editor.m_wndCancel, CPoint(5, 5));
        ASSERT_TRUE(PumpUntil([&] { return CUiManager::GetInstance()->IsProgramListOnScreen(); }));
        ClickRow(dlg, "Alpha Tools");
        ASSERT_TRUE(PumpUntil([&] { return SelectedRowText(dlg) == "Alpha Tools"; }));
        ASSERT_TRUE(FocusIn(List(dlg)));
        TapWith(VK_CONTROL, 'C');
        EXPECT_TRUE(PumpUntil([&] { return ClipboardText() == "Alpha Tools, N/A, N/A, N/A, N/A\r\n"; }))
            << ClipboardText();
        SeedUnrunnable("Beta", "Beta Tools");
        ASSERT_TRUE(FocusIn(list.m_wndSearch));
        Tap(VK_F5);
        EXPECT_TRUE(PumpUntil([&] { return Status(dlg) == "2 of 2 programs found"; })) << Status(dlg);
    }));
}

// The toolbar shows the commands' states as soon as the selection changes, by a click,
// by keys, or by a drag started on empty space that drops the selection: by the time the
// input and the messages its handling posted have been handled, with no idle pass and no
// other message to the main window.
TEST_F(MainWindowTargetTest, TheToolbarFollowsEverySelectionChangeAtOnce)
{
    SeedUnrunnable("Alpha", "Alpha Tools");
    SeedUnrunnable("Beta", "Beta Tools", false);
    SeedUnrunnable("Gamma", "Gamma Tools");
    EXPECT_TRUE(Run([&](CPurgeletDlg& dlg) {
        CExtBarButton* pUninstall = BarButton(dlg.m_wndToolBar, ID_PROGRAM_UNINSTALL);
        CExtBarButton* pRemove = BarButton(dlg.m_wndToolBar, ID_PROGRAM_REMOVE_ENTRY);
        ASSERT_TRUE(FocusIn(List(dlg)));
        // The main dialog's own bar update on idle messages (any message it gets while
        // the thread's current one counts as idle, such as the WM_SETCURSOR a pointer's
        // move passes up to it) comes whenever the pointer moves, and would bring the
        // toolbar up to date without the state-change post the selection makes: off.
        CBarUpdatesPaused idleUpdatesOff(dlg);
        struct Step
        {
            const char* name;
            std::function<void()> input;
            const char* selected;
            bool bUninstall, bRemove;
        } steps[] = {
            {"click Alpha", [&] { ClickRow(dlg, "Alpha Tools"); }, "Alpha Tools", true, true},
            {"Down", [&] { Tap(VK_DOWN); }, "Beta Tools", false, true},
            {"Down", [&] { Tap(VK_DOWN); }, "Gamma Tools", true, true},
            {"click Beta", [&] { ClickRow(dlg, "Beta Tools"); }, "Beta Tools", false, true},
            {"click Gamma", [&] { ClickRow(dlg, "Gamma Tools"); }, "Gamma Tools", true, true},
            {"drag from empty space",
             [&] {
                 CRect rcLast, rcClient;
                 List(dlg).GetItemRect(List(dlg).GetItemCount() - 1, &rcLast, LVIR_BOUNDS);
                 List(dlg).GetClientRect(&rcClient);
                 CPoint pt(40, rcLast.bottom + 30);
                 List(dlg).ClientToScreen(&pt);
                 realinput::SendMouse(0, pt);
                 realinput::SendMouse(MOUSEEVENTF_LEFTDOWN, pt);
                 Pump(50);
                 for (int i = 1; i <= 4; ++i) realinput::SendMouse(0, pt + CSize(15 * i, 5 * i));
                 Pump(50);
                 realinput::SendMouse(MOUSEEVENTF_LEFTUP, pt + CSize(60, 20));
             },
             "", false, false},
        };
        for (const Step& s : steps) {
            SCOPED_TRACE(s.name);
            s.input();
            // The selection has changed and the queue is empty: what the change posted has
            // been handled. The toolbar shows the new states now, without waiting.
            EXPECT_TRUE(PumpUntil([&] { return SelectedRowText(dlg) == s.selected && testsupport::QueueIdle(); }))
                << SelectedRowText(dlg);
            EXPECT_EQ(!s.bUninstall, pUninstall->IsDisabled());
            EXPECT_EQ(!s.bRemove, pRemove->IsDisabled());
        }
    }));
}

// Add to Group offers and adds the program the command acted on; while its dialog is up
// F5 refreshes nothing behind it.
TEST_F(MainWindowTargetTest, AddToGroupTakesTheProgramTheCommandActedOn)
{
    SeedUnrunnable("Alpha", "Alpha Tools");
    SeedUnrunnable("Beta", "Beta Tools");
    GroupEntry* pGroup = CGroupManager::GetInstance()->CreateGroup();
    pGroup->Name = "Tools";
    mainwindowtest::RefillWatch refills;
    EXPECT_TRUE(Run([&](CPurgeletDlg& dlg) {
        ASSERT_TRUE(FocusIn(List(dlg)));
        ClickRow(dlg, "Beta Tools");
        ASSERT_TRUE(PumpUntil([&] { return SelectedRowText(dlg) == "Beta Tools"; }));
        const size_t nRefills = refills.Count();
        std::string keyword;
        BoxWatcher box(dlg.GetSafeHwnd(), [&](HWND hDlg) {
            char text[256] = "";
            ::GetDlgItemTextA(hDlg, IDC_KEYWORD, text, sizeof(text));
            keyword = text;
            ::SetForegroundWindow(hDlg);
            // In order through the dialog's loop: F5, then Enter for OK.
            TapKeys({{0, VK_F5}, {0, VK_RETURN}});
        });
        ::PostMessageA(dlg.GetSafeHwnd(), WM_COMMAND, ID_PROGRAM_ADD_TO_GROUP, 0);
        ASSERT_TRUE(PumpUntil([&] { return !pGroup->Keywords.empty(); }));
        box.Join();
        EXPECT_EQ("Beta Tools", keyword);
        EXPECT_EQ("Beta Tools", pGroup->Keywords.back());
        Pump(100);
        EXPECT_EQ(nRefills, refills.Count());
    }));
}
