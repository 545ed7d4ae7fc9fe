// The groups pane of the real main window, driven with real keys and clicks: the list
// shows the programs of the group the tree highlights and draws bold, after Apply,
// Cancel, the editor's close button, Add to Group and Delete; Delete asks first; the
// details pane shown again shows the program selected now.
// A "&" in a group's name is drawn as it is.
#include "main_window_groups_fixture.h"
#include "support/message_pump.h"
#include "toolkit/theme/paint_manager.h"
#include <gtest/gtest.h>
#include <algorithm>
#include <atomic>
#include <climits>
#include <functional>
#include <map>
#include <string>
#include <thread>
#include <vector>

using mainwindowtest::AddGroup;
using namespace mainwindowgroupstest;

namespace {

// One step of the user's: the input, then the count of the list and the group that is
// both highlighted and bold, once the editor is closed.
struct Step
{
    const char* what;
    std::function<void()> input;
    int nShown;
    const char* group;
};
void RunSteps(CPurgeletDlg& dlg, const std::vector<Step>& steps)
{
    for (const Step& s : steps) {
        SCOPED_TRACE(s.what);
        s.input();
        const std::string expected = std::to_string(s.nShown) + " of 6 programs found; highlighted " + s.group +
                                     "; bold " + s.group;
        EXPECT_TRUE(PumpUntil([&] { return !EditorOpen(dlg) && GroupsState(dlg) == expected; }, ownedbox::kBoxWaitMs))
            << GroupsState(dlg);
    }
}

// From the first to the last column in rows [top, bottom) and columns [left, right) whose
// pixel differs from the band's most frequent colour: how wide the ink of a text is.
int InkWidth(const ownedbox::Pixels& px, int top, int bottom, int left = 0, int right = INT_MAX)
{
    std::map<DWORD, int> counts;
    left = std::max(0, left);
    right = std::min(px.cx, right);
    for (int y = std::max(0, top); y < std::min(px.cy, bottom); ++y)
        for (int x = left; x < right; ++x) ++counts[px.At(x, y)];
    if (counts.empty()) return 0;
    DWORD blank = counts.begin()->first;
    for (const auto& c : counts)
        if (c.second > counts[blank]) blank = c.first;
    int first = INT_MAX, last = -1;
    for (int y = std::max(0, top); y < std::min(px.cy, bottom); ++y)
        for (int x = left; x < right; ++x)
            if (px.At(x, y) != blank) {
                first = std::min(first, x);
                last = std::max(last, x);
            }
    return last < 0 ? 0 : last - first + 1;
}

// A control's client area as the control draws it.
ownedbox::Pixels Printed(HWND hCtrl)
{
    CRect rc;
    ::GetClientRect(hCtrl, &rc);
    return ownedbox::DrawnPixels(rc.Width(), rc.Height(), [hCtrl](HDC hdc) {
        ::SendMessageA(hCtrl, WM_PRINTCLIENT, (WPARAM)hdc, PRF_CLIENT | PRF_ERASEBKGND);
    });
}

// The ink width of a line drawn with a font: with DT_NOPREFIX "&" is drawn, without it
// the "&" is left out and the character after it underlined.
int TextInkWidth(HFONT hFont, const char* text, UINT nFlags)
{
    ownedbox::Pixels px = ownedbox::DrawnPixels(400, 60, [&](HDC hdc) {
        ::SelectObject(hdc, hFont);
        ::SetBkMode(hdc, TRANSPARENT);
        RECT rc = {4, 4, 396, 56};
        ::DrawTextA(hdc, text, -1, &rc, DT_SINGLELINE | nFlags);
    });
    return InkWidth(px, 0, px.cy);
}

}  // namespace

TEST_F(MainWindowGroupsTest, ApplyCancelCloseAndKeysKeepTheListOnTheHighlightedGroup)
{
    EXPECT_TRUE(Run([&](CPurgeletDlg& dlg) {
        ::SetForegroundWindow(dlg.m_hWnd);
        CPageUninstall& page = dlg.m_pageUninstall;
        CPageUninstallGroupEditor& editor = page.m_pageEditor;
        auto closeBox = [&] {
            CRect rc;
            page.m_wndEditorBar.GetCloseButtonRect(NULL, &rc);
            ClickIn(page.m_wndEditorBar.m_hWnd, rc);
        };
        RunSteps(dlg, {
            {"Other", [&] { ClickGroup(dlg, "Other"); }, 6, "Other"},
            {"a new group applied",
             [&] {
                 NewGroup(dlg);
                 TypeInto(editor.m_wndName, "tools");
                 TypeInto(editor.m_wndKeywords, "corpus");
                 ClickIn(editor.m_wndApply.m_hWnd);
             },
             3, "tools"},
            {"Other again", [&] { ClickGroup(dlg, "Other"); }, 3, "Other"},
            {"Up", [&] { Tap(VK_UP); }, 3, "tools"},
            {"Up to the root", [&] { Tap(VK_UP); }, 6, "Groups"},
            {"End", [&] { Tap(VK_END); }, 3, "Other"},
            {"Cancel", [&] { OpenInEditor(dlg, "tools"); ClickIn(editor.m_wndCancel.m_hWnd); }, 3, "Other"},
            {"close button", [&] { OpenInEditor(dlg, "tools"); closeBox(); }, 3, "Other"},
            {"an edited group applied",
             [&] {
                 OpenInEditor(dlg, "tools");
                 TypeInto(editor.m_wndKeywords, "alpha");
                 ClickIn(editor.m_wndApply.m_hWnd);
             },
             4, "tools"},
        });
        CGroupManager* pGroups = CGroupManager::GetInstance();
        ASSERT_EQ(2u, pGroups->m_Groups.size());
        EXPECT_EQ((std::vector<std::string>{"corpus", "alpha"}), pGroups->m_Groups[1]->Keywords);
    }));
}

TEST_F(MainWindowGroupsTest, AddToGroupAndDeleteFilterTheListAndDeleteAsksFirst)
{
    EXPECT_TRUE(Run([&](CPurgeletDlg& dlg) {
        ::SetForegroundWindow(dlg.m_hWnd);
        AddGroup("Tools", "corpus");
        AddGroup("Media", "player");
        CUiManager::GetInstance()->RefreshGroups();
        CString strTitle;
        dlg.GetWindowText(strTitle);
        auto deleteAnswered = [&](UINT nAnswer, const char* name) {
            Question question = DeleteAnswered(dlg, nAnswer);
            EXPECT_EQ(std::string("Are you sure you want to delete this group and its keywords?\r\n\r\n") + name +
                          "\r\n\r\nThe group cannot be restored.",
                      question.text);
            EXPECT_EQ(std::string((LPCTSTR)strTitle), question.caption);
        };
        RunSteps(dlg, {
            {"Other", [&] { ClickGroup(dlg, "Other"); }, 2, "Other"},  // Alpha Editor, Beta Viewer
            {"Alpha Editor added to Tools under Other",
             [&] { ClickRow(dlg, "Alpha Editor"); AddToGroup(dlg, NULL); }, 1, "Other"},
            {"Tools", [&] { ClickGroup(dlg, "Tools"); }, 4, "Tools"},
            {"beta added to Tools under Tools", [&] { ClickRow(dlg, "Corpus Reader"); AddToGroup(dlg, "beta"); }, 5,
             "Tools"},
            {"Delete, No", [&] { deleteAnswered(IDNO, "Tools"); }, 5, "Tools"},
            {"Other once more", [&] { ClickGroup(dlg, "Other"); }, 0, "Other"},
            {"Media deleted from the editor under Other",
             [&] {
                 OpenInEditor(dlg, "Media");
                 deleteAnswered(IDYES, "Media");
                 PumpUntil([&] { return TreeItem(dlg, "Media") == NULL; });
                 ClickIn(dlg.m_pageUninstall.m_pageEditor.m_wndCancel.m_hWnd);
             },
             1, "Other"},  // Gamma Player
            {"Tools", [&] { ClickGroup(dlg, "Tools"); }, 5, "Tools"},
            {"Delete, Yes", [&] { deleteAnswered(IDYES, "Tools"); }, 6, "Groups"},
        });
        EXPECT_EQ(1u, CGroupManager::GetInstance()->m_Groups.size());
        EXPECT_TRUE(TreeItem(dlg, "Other") != NULL);
    }));
}

// A name of any length or with a line break from the groups file: the question shows
// it on one line, shortened with "..." that the box shows whole: the line's extent in
// the box's font and every pixel its glyphs cover lie inside the box's text control,
// and the screen shows the line ending where the drawing of it ends.
TEST_F(MainWindowGroupsTest, TheDeleteQuestionShowsALongNameWhole)
{
    EXPECT_TRUE(Run([&](CPurgeletDlg& dlg) {
        ::SetForegroundWindow(dlg.m_hWnd);
        // The long name keeps as much of its start as the box's line holds, at least the
        // first 32 characters, and ends in "...".
        struct Case
        {
            std::string name, line;
            size_t nMinKept;
        } cases[] = {
            {std::string(300, 'W'), "300 W", 32},
            {std::string(150, 'W'), "150 W", 32},
            {"Two\r\nLines", "Two  Lines", 0},
        };
        for (const Case& c : cases) {
            SCOPED_TRACE(c.line);
            AddGroup(c.name.c_str(), "corpus");
            CGroupManager::GetInstance()->m_pCurrentGroup = CGroupManager::GetInstance()->m_Groups.back();
            CUiManager::GetInstance()->RefreshGroups();
            Question question = DeleteAnswered(dlg, IDNO);
            const size_t nStart = question.text.find("\r\n\r\n");
            ASSERT_NE(std::string::npos, nStart) << question.text;
            const size_t nEnd = question.text.find("\r\n\r\n", nStart + 4);
            ASSERT_NE(std::string::npos, nEnd) << question.text;
            const std::string line = question.text.substr(nStart + 4, nEnd - nStart - 4);
            if (c.nMinKept == 0) {
                EXPECT_EQ(c.line, line);
            } else {
                const ownedbox::ShownNameLine& shown = question.shown;
                ASSERT_GT(shown.line.size(), 3u);
                EXPECT_EQ(std::string(shown.line.size() - 3, 'W') + "...", shown.line);
                EXPECT_GT(shown.line.size() - 3, c.nMinKept);
                EXPECT_LT(shown.line.size() - 3, c.name.size());
                EXPECT_LE(shown.nExtent, shown.nClientWidth);
                EXPECT_LT(shown.nDrawnRight, shown.nClientWidth);
                EXPECT_NEAR(shown.nDrawnRight, shown.nScreenRight, 1);
            }
            EXPECT_FALSE(question.bClipped);
            EXPECT_EQ(&c - cases + 2u, CGroupManager::GetInstance()->m_Groups.size());
        }
    }));
}

TEST_F(MainWindowGroupsTest, DetailsShownAgainShowTheProgramSelectedNow)
{
    EXPECT_TRUE(Run([&](CPurgeletDlg& dlg) {
        ::SetForegroundWindow(dlg.m_hWnd);
        CPageUninstallView& view = dlg.m_pageUninstall.m_pageView;
        CExtDetailsCtrl& details = view.m_pageDetails.m_wndDetails;
        auto shownName = [&] {
            LVFINDINFO find = {LVFI_STRING, "DisplayName", 0, {0, 0}, 0};
            int nRow = details.FindItem(&find);
            return nRow >= 0 ? std::string((LPCTSTR)details.GetItemText(nRow, 1)) : std::string("(none)");
        };
        ClickRow(dlg, "Alpha Editor");
        EXPECT_TRUE(PumpUntil([&] { return shownName() == "Alpha Editor"; })) << shownName();

        // Hidden with its caption's close button; another row chosen; View > Details.
        CRect rc;
        view.m_wndDetailsBar.GetCloseButtonRect(NULL, &rc);
        ClickIn(view.m_wndDetailsBar.m_hWnd, rc);
        EXPECT_TRUE(PumpUntil([&] { return !view.m_wndDetailsBar.IsWindowVisible(); }));
        ClickRow(dlg, "Beta Viewer");
        EXPECT_EQ("Alpha Editor", shownName()) << "not filled while hidden";
        TapKeys({{VK_MENU, 'V'}, {0, 'D'}});
        EXPECT_TRUE(PumpUntil([&] { return view.m_wndDetailsBar.IsWindowVisible() != FALSE; }));
        EXPECT_EQ("Beta Viewer", shownName());
    }));
}

// A double-click on the group editor's Apply or Cancel where the list's rows lie under
// the button: the first click closes the editor, and the second, which lands on the
// list, leaves no row selected and runs nothing. The second comes once the editor is
// gone, or at once with the first (both wait in the queue while the first is handled).
TEST_F(MainWindowGroupsTest, ADoubleClickOnTheEditorsButtonsSelectsNoRowUnderThem)
{
    // The list alone fills the right pane, and its rows reach down past the buttons.
    ASSERT_TRUE(RegistrySandbox::SetString(HKEY_CURRENT_USER, mainwindowtest::kOptionsKey, "ShowDetails", "FALSE"));
    for (int i = 0; i < 60; ++i) {
        char key[16], name[16];
        wsprintfA(key, "Filler%02d", i);
        wsprintfA(name, "Filler %02d", i);
        const std::string path = UninstallKeyPath + key;
        ASSERT_TRUE(RegistrySandbox::SetString(HKEY_CURRENT_USER, path, "DisplayName", name));
        ASSERT_TRUE(RegistrySandbox::SetString(HKEY_CURRENT_USER, path, "UninstallString", "filler_remove.exe"));
    }
    for (bool bApply : {true, false}) {
        for (bool bAtOnce : {false, true}) {
            SCOPED_TRACE(std::string(bApply ? "Apply" : "Cancel") + (bAtOnce ? ", both clicks at once" : ""));
            ForgetGroups();
            TestApp().m_boxes.clear();
            EXPECT_TRUE(Run([&](CPurgeletDlg& dlg) {
                dlg.SetWindowPos(NULL, 0, 0, 900, ::GetSystemMetrics(SM_CYSCREEN), SWP_NOZORDER);
                ::SetForegroundWindow(dlg.m_hWnd);
                CPageUninstallGroupEditor& editor = dlg.m_pageUninstall.m_pageEditor;
                NewGroup(dlg);
                TypeInto(editor.m_wndName, "fillers");
                TypeInto(editor.m_wndKeywords, "filler");
                CRect rcButton;
                (bApply ? editor.m_wndApply : editor.m_wndCancel).GetWindowRect(&rcButton);
                const POINT pt = rcButton.CenterPoint();
                const HWND hEditorBar = dlg.m_pageUninstall.m_wndEditorBar.m_hWnd;
                std::atomic<bool> bSecondSent{false};
                std::thread hand([&] {
                    realinput::ClickAt(pt);
                    // As a hand's, the second press comes once the editor is gone.
                    if (!bAtOnce) realinput::SleepUntil([&] { return !::IsWindowVisible(hEditorBar); }, 2000);
                    realinput::ClickAt(pt);
                    bSecondSent = true;
                });
                const bool bDone = PumpUntil([&] { return bSecondSent && !EditorOpen(dlg); }, 10000);
                hand.join();
                ASSERT_TRUE(bDone);
                EXPECT_TRUE(testsupport::PumpPastTimer(::GetDoubleClickTime() + 100));
                EXPECT_TRUE(testsupport::PumpUntilIdle());
                LVHITTESTINFO hit = {};
                hit.pt = pt;
                List(dlg).ScreenToClient(&hit.pt);
                List(dlg).SendMessage(LVM_SUBITEMHITTEST, 0, (LPARAM)&hit);
                EXPECT_GE(hit.iItem, 0) << "the button does not lie over a row";
                EXPECT_EQ("", mainwindowtest::SelectedRowText(dlg));
                EXPECT_TRUE(CUiManager::GetInstance()->GetSelectedProgram() == NULL);
                EXPECT_EQ(bApply ? "60 of 66 programs found" : "66 of 66 programs found",
                          mainwindowtest::Status(dlg));
                EXPECT_TRUE(TestApp().m_boxes.empty()) << "a command ran: " << TestApp().m_boxes[0].text;
            }));
        }
    }
}

// "&" in a group's name is a character: the Add to Group list and the groups tree draw
// it, rather than underlining the next character as a mnemonic.
TEST_F(MainWindowGroupsTest, AnAmpersandInAGroupNameIsDrawnAsItIs)
{
    const char kName[] = "R&D Tools";
    EXPECT_TRUE(Run([&](CPurgeletDlg& dlg) {
        ::SetForegroundWindow(dlg.m_hWnd);
        AddGroup("Media", "player");
        AddGroup(kName, "corpus");
        CUiManager::GetInstance()->RefreshGroups();

        CExtTreeCtrl& tree = Groups(dlg).m_wndTree;
        HFONT hTreeFont = (HFONT)tree.SendMessage(WM_GETFONT);
        CRect rcLabel;
        ASSERT_TRUE(tree.GetItemRect(TreeItem(dlg, kName), &rcLabel, TRUE));
        const int nTreeInk = InkWidth(Printed(tree.m_hWnd), rcLabel.top, rcLabel.bottom, rcLabel.left);
        EXPECT_EQ(TextInkWidth(hTreeFont, kName, DT_NOPREFIX), nTreeInk);
        EXPECT_NE(TextInkWidth(hTreeFont, kName, 0), nTreeInk);

        HFONT hListFont = (HFONT)g_CurrentPaintManager.GetPM()->m_FontNormal.GetSafeHandle();
        int nListInk = -1;
        ClickRow(dlg, "Alpha Editor");
        HWND hDlg = dlg.m_hWnd;
        ownedbox::BoxWatcher addToGroup(hDlg, [&](HWND hBox) {
            HWND hList = ::GetDlgItem(hBox, IDC_LIST);
            CRect rcItem;
            if (::SendMessageA(hList, LB_GETITEMRECT, 1, (LPARAM)&rcItem) != LB_ERR)
                nListInk = InkWidth(Printed(hList), rcItem.top, rcItem.bottom);
            ownedbox::ClickBoxButton(hBox, IDCANCEL);
        });
        TapKeys({{VK_MENU, 'A'}, {0, 'A'}});
        EXPECT_TRUE(PumpUntil([&] { return addToGroup.Settled(hDlg); },
                              ownedbox::kBoxWaitMs) && addToGroup.m_bFound);
        addToGroup.Join();
        EXPECT_FALSE(addToGroup.m_bStuck);
        EXPECT_EQ(TextInkWidth(hListFont, kName, DT_NOPREFIX), nListInk);
        EXPECT_NE(TextInkWidth(hListFont, kName, 0), nListInk);
    }));
}
