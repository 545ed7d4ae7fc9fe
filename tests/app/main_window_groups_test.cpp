// The groups pane of the real main window, driven with real keys and clicks: the list
// shows the programs of the group the tree highlights and draws bold, after Apply,
// Cancel, the editor's close button, Add to Group and Delete; Delete asks first; the
// details pane shown again shows the program selected now.
#include "code_page_child.h"
#include "main_window_fixture.h"
#include "owned_box.h"
#include "app/box_name_line.h"
#include "app/page_uninstall_groups.h"
#include "app/purgelet_dlg.h"
#include "app/ui_manager.h"
#include "catalogue/groups.h"
#include "catalogue/groups_file.h"
#include "catalogue/options.h"
#include "catalogue/program_entry.h"
#include "toolkit/theme/paint_manager.h"
#include "res/resource.h"
#include "support/message_pump.h"
#include "support/registry_sandbox.h"
#include "support/xml_nodes.h"
#include <gtest/gtest.h>
#include <atomic>
#include <memory>
#include <thread>
#include <vector>

using mainwindowtest::AddGroup;
using mainwindowtest::List;
using mainwindowtest::PumpUntil;
using mainwindowtest::TextOf;
using mainwindowtest::TreeItem;
using realinput::ClickIn;
using realinput::Tap;
using realinput::TapKeys;
using realinput::TapWith;
using realinput::Type;
using testsupport::RegistrySandbox;

namespace {

class MainWindowGroupsTest : public mainwindowtest::NoGroupsFixture
{
protected:
    void SetUp() override
    {
        NoGroupsFixture::SetUp();
        if (HasFatalFailure()) return;
        m_savedShowDetails = g_ShowDetails.Value;
        g_ShowDetails.Value = 1;
        const char* programs[][2] = {{"Reader", "Corpus Reader"}, {"Indexer", "Corpus Indexer"},
                                     {"Tools", "Corpus Tools"},   {"Alpha", "Alpha Editor"},
                                     {"Beta", "Beta Viewer"},     {"Gamma", "Gamma Player"}};
        for (const auto& p : programs) {
            const std::string path = UninstallKeyPath + p[0];
            ASSERT_TRUE(RegistrySandbox::SetString(HKEY_CURRENT_USER, path, "DisplayName", p[1]));
            ASSERT_TRUE(RegistrySandbox::SetString(HKEY_CURRENT_USER, path, "UninstallString",
                                                   std::string(p[0]) + "_remove.exe"));
        }
    }
    void TearDown() override
    {
        g_ShowDetails.Value = m_savedShowDetails;
        NoGroupsFixture::TearDown();
    }
    int m_savedShowDetails = 1;
};

CPageUninstallGroups& Groups(CPurgeletDlg& dlg) { return dlg.m_pageUninstall.m_pageGroups; }

// What the user sees of the groups: the count of the list, the highlighted item and
// every bold one, in one line so a failing step shows all of it.
std::string GroupsState(CPurgeletDlg& dlg)
{
    CExtTreeCtrl& tree = Groups(dlg).m_wndTree;
    HTREEITEM hSelected = tree.GetSelectedItem();
    std::string state = std::string((LPCTSTR)dlg.m_wndStatusBar.GetPaneText(0)) + "; highlighted " +
                        (hSelected != NULL ? (LPCTSTR)tree.GetItemText(hSelected) : "none") + "; bold";
    for (HTREEITEM h = Groups(dlg).m_hRoot; h != NULL;
         h = h == Groups(dlg).m_hRoot ? tree.GetChildItem(h) : tree.GetNextSiblingItem(h))
        if ((tree.GetItemState(h, TVIS_BOLD) & TVIS_BOLD) != 0) state += " " + std::string(tree.GetItemText(h));
    return state;
}

void ClickGroup(CPurgeletDlg& dlg, const char* text)
{
    CRect rc;
    Groups(dlg).m_wndTree.GetItemRect(TreeItem(dlg, text), &rc, TRUE);
    ClickIn(Groups(dlg).m_wndTree.m_hWnd, rc);
}

void ClickGroupTool(CPurgeletDlg& dlg, UINT nID)
{
    CExtToolControlBar& bar = Groups(dlg).m_wndToolBar;
    if (CExtBarButton* pButton = mainwindowtest::BarButton(bar, nID)) ClickIn(bar.m_hWnd, pButton->Rect());
}

void ClickRow(CPurgeletDlg& dlg, const char* name)
{
    mainwindowtest::WaitUntilListTakesClicks();
    LVFINDINFO find = {};
    find.flags = LVFI_STRING;
    find.psz = name;
    CRect rc;
    List(dlg).GetItemRect(List(dlg).FindItem(&find), &rc, LVIR_LABEL);
    ClickIn(List(dlg).m_hWnd, rc);
    PumpUntil([&] {
        ProgramEntry* pSelected = CUiManager::GetInstance()->GetSelectedProgram();
        return pSelected != NULL && pSelected->DisplayName == name;
    });
}

bool EditorOpen(CPurgeletDlg& dlg) { return dlg.m_pageUninstall.m_wndEditorBar.IsWindowVisible() != FALSE; }

// New in the groups toolbar; returns once the editor is shown with the focus in its Name
// field. A click aimed at the editor before then goes by where its fields lay while it
// was hidden, and misses them when the panes were sized otherwise since.
void NewGroup(CPurgeletDlg& dlg)
{
    CPageUninstallGroupEditor& editor = dlg.m_pageUninstall.m_pageEditor;
    ClickGroupTool(dlg, ID_GROUP_NEW);
    EXPECT_TRUE(PumpUntil([&] { return EditorOpen(dlg) && ::GetFocus() == editor.m_wndName.m_hWnd; }));
}

// New in the groups toolbar, then a click on the group to open it in the editor.
void OpenInEditor(CPurgeletDlg& dlg, const char* group)
{
    CPageUninstallGroupEditor& editor = dlg.m_pageUninstall.m_pageEditor;
    NewGroup(dlg);
    ClickGroup(dlg, group);
    EXPECT_TRUE(PumpUntil([&] { return editor.m_wndName.GetWindowTextLength() > 0; })) << group;
}

// A click into an editor field, then typing at its end.
void TypeInto(CWnd& field, const char* text)
{
    ClickIn(field.m_hWnd);
    EXPECT_TRUE(PumpUntil([&] { return ::GetFocus() == field.m_hWnd; })) << text;
    TapWith(VK_CONTROL, VK_END);
    const int nLength = field.GetWindowTextLength() + (int)strlen(text);
    Type(text);
    EXPECT_TRUE(PumpUntil([&] { return field.GetWindowTextLength() == nLength; })) << text;
}

// Add to Group from the Action menu with its keys; the dialog's keyword is typed over
// (NULL: the program's name kept) and confirmed with Enter.
void AddToGroup(CPurgeletDlg& dlg, const char* keyword)
{
    HWND hDlg = dlg.m_hWnd;
    ownedbox::BoxWatcher ok(hDlg, [hDlg, keyword](HWND hBox) {
        HWND hKeyword = ::GetDlgItem(hBox, IDC_KEYWORD);
        realinput::SleepUntil([&] { return realinput::ThreadFocusIs(hDlg, hKeyword); }, ownedbox::kBoxWaitMs);
        if (keyword != NULL) Type(keyword);
        Tap(VK_RETURN);
    });
    TapKeys({{VK_MENU, 'A'}, {0, 'A'}});
    EXPECT_TRUE(PumpUntil([&] { return ok.Settled(hDlg); }, ownedbox::kBoxWaitMs) && ok.m_bFound);
    ok.Join();
    EXPECT_FALSE(ok.m_bStuck);
}

// Delete in the groups toolbar, its question answered with a click on nAnswer. Gives
// back the question and its caption, and whether a word of it is wider than the box's
// text: the box wraps a line between words but clips a word wider than itself.
struct Question
{
    std::string caption, text;
    bool bClipped = false;
    ownedbox::ShownNameLine shown;  // the line that ends in "...", as the box shows it
};
Question DeleteAnswered(CPurgeletDlg& dlg, UINT nAnswer)
{
    Question question;
    HWND hDlg = dlg.m_hWnd;
    ownedbox::BoxWatcher box(hDlg, [&](HWND hBox) {
        HWND hText = ::GetDlgItem(hBox, 0xFFFF);
        char text[2048] = "";
        ::GetWindowTextA(hText, text, sizeof(text));
        CRect rc;
        ::GetClientRect(hText, &rc);
        for (const auto& word : ownedbox::WordWidths(hText, text))
            question.bClipped = question.bClipped || word.second > rc.Width();
        question.shown = ownedbox::ReadShownNameLine(hBox);
        ownedbox::ClickBoxButton(hBox, nAnswer);
    });
    ClickGroupTool(dlg, ID_GROUP_DELETE);
    EXPECT_TRUE(PumpUntil([&] { return box.Settled(hDlg); }, ownedbox::kBoxWaitMs) && box.m_bFound);
    box.Join();
    EXPECT_FALSE(box.m_bStuck);
    question.caption = box.m_caption;
    question.text = box.m_text;
    return question;
}

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
            ClearGroups();
            ::DeleteFileA(m_groupsFile.c_str());
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

// ---- the groups file and the options through the real window ----------------------------

namespace {

const char kTwoGroups[] =
    "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<NimboPurgelet Version=\"1.1\">\n<Purgelet>\n"
    "<Group Id=\"2\" Name=\"Tools\">\n<Keyword>corpus</Keyword>\n</Group>\n"
    "<Group Id=\"3\" Name=\"Media\">\n<Keyword>player</Keyword>\n</Group>\n</Purgelet>\n</NimboPurgelet>\n";

OptionValue* const kOptions[] = {&g_SizeType, &g_GridColor1, &g_GridColor2, &g_GridEnabled, &g_AutoRefresh,
                                 &g_Hide,     &g_ShowCats,   &g_ShowDetails, &g_CatsSize,    &g_ListSize};

// The groups file as the user left it before a start; the options in memory put back
// afterwards, and the copies of damaged files and the read-only flag cleared.
class MainWindowGroupsFileTest : public MainWindowGroupsTest
{
protected:
    void SetUp() override
    {
        for (OptionValue* p : kOptions) {
            m_options.push_back({p->Value, p->Changed});
            p->Changed = false;
        }
        MainWindowGroupsTest::SetUp();
        RemoveCopies();
    }
    void TearDown() override
    {
        ::SetFileAttributesA(m_groupsFile.c_str(), FILE_ATTRIBUTE_NORMAL);
        RemoveCopies();
        MainWindowGroupsTest::TearDown();
        for (size_t i = 0; i < m_options.size(); ++i) {
            kOptions[i]->Value = m_options[i].first;
            kOptions[i]->Changed = m_options[i].second;
        }
    }
    void RemoveCopies()
    {
        ::DeleteFileA(Copy().c_str());
        ::DeleteFileA((Copy() + "-2").c_str());
    }
    void WriteGroups(const std::string& bytes)
    {
        std::ofstream(m_groupsFile.c_str(), std::ios::binary) << bytes;
    }
    std::string GroupsFile() const { return mainwindowtest::ReadFile(m_groupsFile); }
    std::string Copy() const { return m_groupsFile + ".damaged"; }
    static bool Exists(const std::string& path)
    {
        return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
    }
    ULONGLONG WriteTime() const
    {
        WIN32_FILE_ATTRIBUTE_DATA data = {};
        ::GetFileAttributesExA(m_groupsFile.c_str(), GetFileExInfoStandard, &data);
        return ((ULONGLONG)data.ftLastWriteTime.dwHighDateTime << 32) | data.ftLastWriteTime.dwLowDateTime;
    }
    std::string FileLines() const { return "The groups file\r\n\r\n" + m_groupsFile + "\r\n\r\n"; }
    std::string NotSaved(const std::string& why) const
    {
        return "The groups could not be saved.\r\n\r\n" + FileLines() + why;
    }
    // The boxes recorded, waited for until there are n.
    std::vector<CPurgeletTestApp::BoxRecord>& Boxes(size_t n)
    {
        PumpUntil([&] { return TestApp().m_boxes.size() >= n; });
        return TestApp().m_boxes;
    }
    // The tree lists exactly these groups (the root and "Other" left out).
    static std::vector<std::string> TreeGroups(CPurgeletDlg& dlg)
    {
        std::vector<std::string> names;
        CExtTreeCtrl& tree = Groups(dlg).m_wndTree;
        for (HTREEITEM h = tree.GetChildItem(Groups(dlg).m_hRoot); h != NULL; h = tree.GetNextSiblingItem(h))
            if (tree.GetItemText(h) != "Other") names.push_back((LPCTSTR)tree.GetItemText(h));
        return names;
    }
    // A new group through the editor: New, a name, a keyword, Apply.
    static void NewGroup(CPurgeletDlg& dlg, const char* name, const char* keyword)
    {
        CPageUninstallGroupEditor& editor = dlg.m_pageUninstall.m_pageEditor;
        ClickGroupTool(dlg, ID_GROUP_NEW);
        EXPECT_TRUE(PumpUntil([&] { return EditorOpen(dlg) && ::GetFocus() == editor.m_wndName.m_hWnd; }));
        TypeInto(editor.m_wndName, name);
        TypeInto(editor.m_wndKeywords, keyword);
        ClickIn(editor.m_wndApply.m_hWnd);
        EXPECT_TRUE(PumpUntil([&] { return !EditorOpen(dlg) && TreeItem(dlg, name) != NULL; }))
            << name;
    }

    std::vector<std::pair<int, bool>> m_options;
};

bool StartsWith(const std::string& text, const std::string& start) { return text.compare(0, start.size(), start) == 0; }

bool EndsWith(const std::string& text, const std::string& end)
{
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

}  // namespace

TEST_F(MainWindowGroupsFileTest, AddToGroupAndDeleteAreInTheFileBeforeTheExitAndTheExitWritesNothing)
{
    WriteGroups(kTwoGroups);
    std::string strLastWritten;
    ULONGLONG nWriteTime = 0;
    EXPECT_TRUE(Run([&](CPurgeletDlg& dlg) {
        ::SetForegroundWindow(dlg.m_hWnd);
        ASSERT_TRUE(PumpUntil([&] { return TreeGroups(dlg) == std::vector<std::string>{"Tools", "Media"}; }));
        ClickRow(dlg, "Alpha Editor");
        AddToGroup(dlg, NULL);  // into Tools, the first group listed
        EXPECT_TRUE(
            PumpUntil([&] { return GroupsFile().find("<Keyword>Alpha Editor</Keyword>") != std::string::npos; }))
            << GroupsFile();
        ClickGroup(dlg, "Media");
        DeleteAnswered(dlg, IDYES);
        EXPECT_TRUE(PumpUntil([&] { return GroupsFile().find("Media") == std::string::npos; })) << GroupsFile();
        strLastWritten = GroupsFile();
        nWriteTime = WriteTime();
        EXPECT_NE(std::string::npos, strLastWritten.find("<Group Id=\"2\" Name=\"Tools\">\n<Keyword>corpus</Keyword>\n"
                                                         "<Keyword>Alpha Editor</Keyword>\n</Group>"))
            << strLastWritten;
    }));
    EXPECT_EQ(strLastWritten, GroupsFile());
    EXPECT_EQ(nWriteTime, WriteTime());
    EXPECT_TRUE(TestApp().m_boxes.empty());
}

// A hand-edited file the reader refuses: the program starts without its groups and
// says so, the file's bytes stay through the start and the exit, and before the first
// change replaces the file they are copied beside it, as the box said.
TEST_F(MainWindowGroupsFileTest, AFileThatIsNoGroupsFileIsReportedAndItsBytesSurviveAStartAnExitAndAChange)
{
    const struct
    {
        const char* what;
        std::string bytes;
        const char* reason;
    } cases[] = {
        {"an ampersand", std::string(kTwoGroups).replace(std::string(kTwoGroups).find("Tools"), 5, "Tom & Jerry"),
         "it is not well-formed XML"},
        {"a missing end tag", std::string(kTwoGroups).erase(std::string(kTwoGroups).find("</Group>"), 8),
         "it is not well-formed XML"},
        {"another root",
         "<?xml version=\"1.0\"?>\n<Settings>\n<Purgelet>\n<Group Name=\"Tools\"/>\n</Purgelet>\n</Settings>\n",
         "its root element is <Settings>, not <NimboPurgelet>"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        RemoveCopies();
        WriteGroups(c.bytes);
        for (int nPass = 0; nPass < 2; ++nPass) {
            SCOPED_TRACE(nPass == 0 ? "start and exit" : "start, a change and exit");
            TestApp().m_boxes.clear();
            ClearGroups();
            EXPECT_TRUE(Run([&](CPurgeletDlg& dlg) {
                ::SetForegroundWindow(dlg.m_hWnd);
                ASSERT_EQ(1u, Boxes(1).size());
                const std::string& text = TestApp().m_boxes[0].text;
                EXPECT_TRUE(StartsWith(text, FileLines() + "cannot be read as groups: " + c.reason)) << text;
                EXPECT_TRUE(EndsWith(text, ".\r\n\r\nIts contents were kept in\r\n\r\n" + Copy() +
                                               "\r\n\r\nThe program starts without the groups it holds; the groups "
                                               "file is written anew when the groups change."))
                    << text;
                EXPECT_EQ((UINT)(MB_OK | MB_ICONWARNING), TestApp().m_boxes[0].type);
                EXPECT_TRUE(TreeGroups(dlg).empty());
                EXPECT_EQ(c.bytes, mainwindowtest::ReadFile(Copy()));
                if (nPass == 1) {
                    NewGroup(dlg, "cartoons", "tom");
                    EXPECT_NE(std::string::npos, GroupsFile().find("Name=\"cartoons\">\n<Keyword>tom</Keyword>"))
                        << GroupsFile();
                }
            }));
            EXPECT_EQ(1u, TestApp().m_boxes.size());
            EXPECT_EQ(c.bytes, mainwindowtest::ReadFile(Copy()));
            EXPECT_FALSE(Exists(Copy() + "-2")) << "the same bytes are kept once";
            if (nPass == 0) {
                EXPECT_EQ(c.bytes, GroupsFile());
            }
        }
    }
}

// A good file that cannot be opened at the start (another program holds it) is not
// written over later: the user is told at the start and again at the change.
TEST_F(MainWindowGroupsFileTest, AFileThatCannotBeOpenedAtTheStartIsLeftAlone)
{
    WriteGroups(kTwoGroups);
    HANDLE hHeld = ::CreateFileA(m_groupsFile.c_str(), GENERIC_READ, 0, NULL, OPEN_EXISTING, 0, NULL);
    ASSERT_NE(INVALID_HANDLE_VALUE, hHeld);
    EXPECT_TRUE(Run([&](CPurgeletDlg& dlg) {
        ::SetForegroundWindow(dlg.m_hWnd);
        ASSERT_EQ(1u, Boxes(1).size());
        ::CloseHandle(hHeld);
        hHeld = NULL;
        const std::string text = TestApp().m_boxes[0].text;
        EXPECT_TRUE(StartsWith(text, FileLines() + "cannot be opened: ")) << text;
        EXPECT_TRUE(EndsWith(text, ".\r\n\r\nIt is left as it is: changes to the groups are not saved until the "
                                   "program is started again."))
            << text;
        EXPECT_FALSE(Exists(Copy()));
        NewGroup(dlg, "cartoons", "tom");
        ASSERT_EQ(2u, Boxes(2).size());
        EXPECT_EQ(NotSaved("could not be read when the program started and is left as it is."),
                  TestApp().m_boxes[1].text);
    }));
    if (hHeld != NULL) ::CloseHandle(hHeld);
    EXPECT_EQ(2u, TestApp().m_boxes.size());
    EXPECT_EQ(kTwoGroups, GroupsFile());
}

// A file another program holds open at a change (a sync client, a scanner) is left as it
// is and the box says why, without claiming it was changed; once let go, the next change
// writes both.
TEST_F(MainWindowGroupsFileTest, AFileHeldAtAChangeIsLeftAloneAndTheNextChangeWritesIt)
{
    WriteGroups(kTwoGroups);
    EXPECT_TRUE(Run([&](CPurgeletDlg& dlg) {
        ::SetForegroundWindow(dlg.m_hWnd);
        ASSERT_TRUE(PumpUntil([&] { return TreeGroups(dlg) == std::vector<std::string>{"Tools", "Media"}; }));
        HANDLE hHeld = ::CreateFileA(m_groupsFile.c_str(), GENERIC_READ, 0, NULL, OPEN_EXISTING, 0, NULL);
        ASSERT_NE(INVALID_HANDLE_VALUE, hHeld);
        ClickGroup(dlg, "Media");
        DeleteAnswered(dlg, IDYES);
        ::CloseHandle(hHeld);
        ASSERT_EQ(1u, Boxes(1).size());
        const std::string text = TestApp().m_boxes[0].text;
        EXPECT_TRUE(StartsWith(text, NotSaved("cannot be opened now: "))) << text;
        EXPECT_TRUE(EndsWith(text, ".\r\n\r\nIt is left as it is.")) << text;
        EXPECT_EQ(kTwoGroups, GroupsFile());
        ClickRow(dlg, "Alpha Editor");
        AddToGroup(dlg, NULL);
        EXPECT_TRUE(PumpUntil([&] { return GroupsFile().find("Alpha Editor") != std::string::npos; }));
    }));
    EXPECT_EQ(1u, TestApp().m_boxes.size());
    EXPECT_EQ(std::string::npos, GroupsFile().find("Media")) << GroupsFile();
    EXPECT_NE(std::string::npos, GroupsFile().find("<Keyword>corpus</Keyword>\n<Keyword>Alpha Editor</Keyword>"))
        << GroupsFile();
}

TEST_F(MainWindowGroupsFileTest, AReadOnlyFileGivesTheBoxAtEachChangeAndKeepsItsBytes)
{
    WriteGroups(kTwoGroups);
    ASSERT_TRUE(::SetFileAttributesA(m_groupsFile.c_str(), FILE_ATTRIBUTE_READONLY));
    const std::string strBox = NotSaved("cannot be written: the file is read-only.");
    EXPECT_TRUE(Run([&](CPurgeletDlg& dlg) {
        ::SetForegroundWindow(dlg.m_hWnd);
        ASSERT_TRUE(PumpUntil([&] { return TreeGroups(dlg) == std::vector<std::string>{"Tools", "Media"}; }));
        EXPECT_TRUE(TestApp().m_boxes.empty()) << "read-only is no reason to speak at the start";
        ClickGroup(dlg, "Media");
        DeleteAnswered(dlg, IDYES);
        ASSERT_EQ(1u, Boxes(1).size());
        EXPECT_EQ(strBox, TestApp().m_boxes[0].text);
        EXPECT_EQ((UINT)(MB_OK | MB_ICONWARNING), TestApp().m_boxes[0].type);
        ClickRow(dlg, "Alpha Editor");
        AddToGroup(dlg, "alpha");
        ASSERT_EQ(2u, Boxes(2).size());
        EXPECT_EQ(strBox, TestApp().m_boxes[1].text);
        NewGroup(dlg, "cartoons", "tom");
        ASSERT_EQ(3u, Boxes(3).size());
        EXPECT_EQ(strBox, TestApp().m_boxes[2].text);
    }));
    EXPECT_EQ(3u, TestApp().m_boxes.size()) << "the exit tries once more without a word";
    EXPECT_EQ(kTwoGroups, GroupsFile());
}

// Nothing changed: a second start and exit leave the file and the options exactly as
// the first left them; an option the user did not touch is not written back from
// memory over what is stored.
TEST_F(MainWindowGroupsFileTest, TwoStartsAndExitsLeaveTheFileAndTheOptionsByteIdentical)
{
    WriteGroups(kTwoGroups);
    const ULONGLONG nWriteTime = WriteTime();
    auto startAndExit = [&] {
        ClearGroups();
        EXPECT_TRUE(Run([&](CPurgeletDlg& dlg) {
            ::SetForegroundWindow(dlg.m_hWnd);
            EXPECT_TRUE(PumpUntil([&] { return TreeGroups(dlg) == std::vector<std::string>{"Tools", "Media"}; }));
            EXPECT_TRUE(PumpUntil([&] { return GroupsState(dlg).find("6 of 6 programs found") == 0; }));
        }));
    };
    startAndExit();
    EXPECT_EQ(kTwoGroups, GroupsFile());
    EXPECT_EQ(nWriteTime, WriteTime());
    const std::map<std::string, std::string> options = mainwindowtest::StoredOptions();
    EXPECT_EQ(10u, options.size());

    startAndExit();
    EXPECT_EQ(kTwoGroups, GroupsFile());
    EXPECT_EQ(nWriteTime, WriteTime());
    EXPECT_EQ(options, mainwindowtest::StoredOptions());

    // Another hand's text for an option the program reads as its current value stays.
    ASSERT_TRUE(RegistrySandbox::SetString(HKEY_CURRENT_USER, mainwindowtest::kOptionsKey, "Hide", "no"));
    const std::map<std::string, std::string> handEdited = mainwindowtest::StoredOptions();
    startAndExit();
    EXPECT_EQ(handEdited, mainwindowtest::StoredOptions());
    EXPECT_TRUE(TestApp().m_boxes.empty());
}

// The session ends (log-off, shut-down) with the window open: what its close would
// store is stored when the session asks, before any close.
TEST_F(MainWindowGroupsFileTest, ASessionEndStoresWhatTheCloseWould)
{
    EXPECT_TRUE(Run([&](CPurgeletDlg& dlg) {
        ::SetForegroundWindow(dlg.m_hWnd);
        CPageUninstallView& view = dlg.m_pageUninstall.m_pageView;
        ASSERT_TRUE(PumpUntil([&] { return view.m_wndDetailsBar.IsWindowVisible() != FALSE; }));
        TapKeys({{VK_MENU, 'V'}, {0, 'D'}});
        ASSERT_TRUE(PumpUntil([&] { return !view.m_wndDetailsBar.IsWindowVisible(); }));
        // Groups in memory that no command wrote yet.
        AddGroup("Pending", "pend");
        EXPECT_FALSE(Exists(m_groupsFile));

        EXPECT_TRUE(dlg.SendMessage(WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF));
        EXPECT_NE(std::string::npos, GroupsFile().find("Name=\"Pending\">\n<Keyword>pend</Keyword>")) << GroupsFile();
        std::map<std::string, std::string> options = mainwindowtest::StoredOptions();
        EXPECT_EQ(std::string("1:FALSE", 8), options["ShowDetails"]);
        EXPECT_EQ(1u, options.count("CatsSize"));
        EXPECT_EQ(1u, options.count("ListSize"));

        dlg.SendMessage(WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
        EXPECT_EQ(options, mainwindowtest::StoredOptions());
        EXPECT_TRUE(::IsWindow(dlg.m_hWnd));
    }));
    EXPECT_TRUE(TestApp().m_boxes.empty());
}

const char kGroupsFileChild[] = "PURGELET_GROUPS_FILE_CHILD";

// Under code page 932 (started by WrittenUnder932): the groups Tools, Media, a group with
// a Japanese name and a group with one Japanese keyword, written by the program to the
// file the variable names.
TEST(GroupsFileUnder932, Child)
{
    const char* pszPath = getenv(kGroupsFileChild);
    if (pszPath == NULL) GTEST_SKIP() << "run by AddToGroupDeleteAndApplyEditTheFileAndKeepEverythingElse";
    ASSERT_EQ(932u, ::GetACP());
    auto ansi = [](const wchar_t* text) {
        char bytes[64] = "";
        ::WideCharToMultiByte(CP_ACP, 0, text, -1, bytes, sizeof(bytes), NULL, NULL);
        return std::string(bytes);
    };
    CGroupManager* pGroups = CGroupManager::GetInstance();
    pGroups->Clear();
    const std::vector<std::pair<std::string, std::vector<std::string>>> groups = {
        {"Tools", {"corpus"}},
        {"Media", {"player"}},
        {ansi(L"\x30C4\x30FC\x30EB"), {ansi(L"\x65E5\x672C")}},  // "ツール", "日本"
        {"Games", {"game", ansi(L"\x30B2\x30FC\x30E0")}},         // "ゲーム"
    };
    for (const auto& g : groups) {
        GroupEntry* pGroup = pGroups->CreateGroup();
        pGroup->Name = g.first;
        for (const std::string& k : g.second) pGroup->AddKeyword(k.c_str());
    }
    GroupsFileStatus status;
    EXPECT_TRUE(pGroups->Save(pszPath, &status)) << status.writeError;
    pGroups->Clear();
}

// The bytes of the groups file the program writes under code page 932 (a child process
// of this one), or "" where a process cannot choose its code page.
static std::string WrittenUnder932(const std::string& path)
{
    if (codepagechild::UnixPath("C:\\").empty()) return std::string();
    int nExit = -1;
    const std::string output = codepagechild::Run("ja_JP.UTF-8", "GroupsFileUnder932.Child", {{kGroupsFileChild, path}}, nExit);
    EXPECT_EQ(0, nExit) << output;
    EXPECT_NE(std::string::npos, output.find("[       OK ] GroupsFileUnder932.Child")) << output;
    const std::string bytes = mainwindowtest::ReadFile(path);
    ::DeleteFileA(path.c_str());
    return bytes;
}

// A file holding what the program does not use or cannot show, changed through the window
// (Add to Group, Delete, a new group with Apply) and the program closed: the document is
// the one read, node for node, but for the three changes; the groups the code page cannot
// show are left out of the tree and named in a box at the start.
TEST_F(MainWindowGroupsFileTest, AddToGroupDeleteAndApplyEditTheFileAndKeepEverythingElse)
{
    auto tools = [](const char* attributes) {
        return std::string("<Group Id=\"2\" Name=\"Tools\"") + attributes + ">\n<Keyword>corpus</Keyword>\n</Group>\n";
    };
    const std::string media = "<Group Id=\"3\" Name=\"Media\">\n<Keyword>player</Keyword>\n</Group>\n";
    auto file = [](const std::string& beforeGroups, const std::string& groups) {
        return "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<NimboPurgelet Version=\"1.1\">\n" + beforeGroups +
               "<Purgelet>\n" + groups + "</Purgelet>\n</NimboPurgelet>\n";
    };
    const struct
    {
        const char* what;
        std::string bytes;
        int nNewId;           // the Id the new group takes
        const char* unshown;  // the groups named in the box at the start, or null
    } cases[] = {
        {"a comment and a processing instruction in the root",
         file("<!-- the user's own -->\n<?reader keep this?>\n", tools("") + "<!-- media -->\n" + media), 4, nullptr},
        {"attributes the program does not use",
         file("", tools(" Color=\"red\"") + "<Group Id=\"3\" Name=\"Media\" ID=\"7\">\n<Keyword>player</Keyword>\n"
                                             "</Group>\n"),
         4, nullptr},
        {"a second groups element", file("<Purgelet>\n<Group Id=\"5\" Name=\"Old\"/>\n</Purgelet>\n", tools("") + media),
         6, nullptr},
        {"a Cyrillic group under 1252",
         file("", tools("") + "<Group Id=\"4\" Name=\"\xD0\x96\xD0\xB6\">\n<Keyword>\xD0\xB6</Keyword>\n</Group>\n" + media),
         5, "\"??\".\r\n\r\nIt is kept in the file as it is"},
        // Japanese names and a Japanese keyword, as this program wrote them under 932.
        {"a file written under 932", WrittenUnder932(m_groupsFile + ".932"), 6,
         "\"???\", \"Games\".\r\n\r\nThey are kept in the file as they are"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        if (c.bytes.empty()) continue;  // no file written under another code page here
        WriteGroups(c.bytes);
        TestApp().m_boxes.clear();
        ClearGroups();
        EXPECT_TRUE(Run([&](CPurgeletDlg& dlg) {
            ::SetForegroundWindow(dlg.m_hWnd);
            ASSERT_TRUE(PumpUntil([&] { return TreeGroups(dlg) == std::vector<std::string>{"Tools", "Media"}; }));
            if (c.unshown) {
                ASSERT_EQ(1u, Boxes(1).size());
                EXPECT_NE(std::string::npos, TestApp().m_boxes[0].text.find("cannot show: " + std::string(c.unshown)))
                    << TestApp().m_boxes[0].text;
            }
            ClickRow(dlg, "Alpha Editor");
            AddToGroup(dlg, NULL);  // into Tools, the first group listed
            ClickGroup(dlg, "Media");
            DeleteAnswered(dlg, IDYES);
            NewGroup(dlg, "cartoons", "tom");
        }));
        EXPECT_EQ(c.unshown ? 1u : 0u, TestApp().m_boxes.size());
        std::string expected = c.bytes;
        const std::string corpus = "<Keyword>corpus</Keyword>\n";
        expected.insert(expected.find(corpus) + corpus.size(), "<Keyword>Alpha Editor</Keyword>\n");
        const std::string::size_type at = expected.find("<Group Id=\"3\" Name=\"Media\"");
        expected.erase(at, expected.find("</Group>\n", at) + 9 - at);
        expected.insert(expected.rfind("</Purgelet>"), "<Group Id=\"" + std::to_string(c.nNewId) +
                                                           "\" Name=\"cartoons\">\n<Keyword>tom</Keyword>\n</Group>\n");
        const std::string expectedFile = m_groupsFile + ".expected";
        std::ofstream(expectedFile.c_str(), std::ios::binary) << expected;
        EXPECT_EQ(xmlnodes::OfFile(expectedFile), xmlnodes::OfFile(m_groupsFile)) << GroupsFile();
        ::DeleteFileA(expectedFile.c_str());
    }
}

// What a save cut short left beside the file (the program ended in the middle of it) is
// removed at the start; other files there stay.
TEST_F(MainWindowGroupsFileTest, TheStartRemovesWhatASaveCutShortLeftBesideTheFile)
{
    WriteGroups(kTwoGroups);
    const std::string leftover = m_groupsFile + ".~1a2b.tmp", other = m_groupsFile + ".~notes.txt";
    std::ofstream(leftover.c_str(), std::ios::binary) << "<NimboPurgelet";
    std::ofstream(other.c_str(), std::ios::binary) << "mine";
    EXPECT_TRUE(Run([&](CPurgeletDlg& dlg) {
        EXPECT_TRUE(PumpUntil([&] { return TreeGroups(dlg) == std::vector<std::string>{"Tools", "Media"}; }));
        EXPECT_FALSE(Exists(leftover));
        EXPECT_TRUE(Exists(other));
    }));
    EXPECT_EQ(kTwoGroups, GroupsFile());
    ::DeleteFileA(leftover.c_str());
    ::DeleteFileA(other.c_str());
}

// The file is changed by another hand between two changes made in the window: the second
// change is applied to what the file holds then, and the tree shows the result. A file
// the other hand left unreadable is kept beside itself, as the box says.
TEST_F(MainWindowGroupsFileTest, AHandEditBetweenTwoChangesSurvivesTheSecond)
{
    auto file = [](const std::string& groups) {
        return "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<NimboPurgelet Version=\"1.1\">\n<Purgelet>\n" + groups +
               "</Purgelet>\n</NimboPurgelet>\n";
    };
    auto group = [](int nId, const char* name, std::vector<const char*> keywords) {
        std::string text = "<Group Id=\"" + std::to_string(nId) + "\" Name=\"" + name + "\">\n";
        for (const char* k : keywords) text += std::string("<Keyword>") + k + "</Keyword>\n";
        return text + "</Group>\n";
    };
    const std::string cartoons = group(4, "cartoons", {"tom"});
    const struct
    {
        const char* what;
        std::function<std::string(const std::string&)> edit;  // the file as the other hand leaves it
        std::string written;                                    // after Media is deleted here
        std::vector<std::string> tree;
        const char* damaged;  // why the edited file cannot be read, or null
    } cases[] = {
        {"a group added",
         [&](const std::string& bytes) {
             return std::string(bytes).insert(bytes.find("</Purgelet>"), group(9, "Hand", {"gamma"}));
         },
         file(group(2, "Tools", {"corpus"}) + cartoons + group(9, "Hand", {"gamma"})), {"Tools", "cartoons", "Hand"},
         nullptr},
        {"a keyword added and a group renamed",
         [&](const std::string& bytes) {
             std::string edited = bytes;
             edited.insert(edited.find("</Group>"), "<Keyword>alpha</Keyword>\n");
             return edited.replace(edited.find("Name=\"cartoons\""), 15, "Name=\"comics\"");
         },
         file(group(2, "Tools", {"corpus", "alpha"}) + group(4, "comics", {"tom"})), {"Tools", "comics"}, nullptr},
        // Followed by its Id, the group deleted here is the one the other hand renamed.
        {"the group deleted here renamed there",
         [&](const std::string& bytes) {
             return std::string(bytes).replace(bytes.find("Name=\"Media\""), 12, "Name=\"Movies\"");
         },
         file(group(2, "Tools", {"corpus"}) + cartoons), {"Tools", "cartoons"}, nullptr},
        {"the file emptied", [](const std::string&) { return std::string(); },
         file(group(2, "Tools", {"corpus"}) + cartoons), {"Tools", "cartoons"}, nullptr},
        {"the file made unreadable", [](const std::string&) { return std::string("<NimboPurgelet><Purgelet>"); },
         file(group(2, "Tools", {"corpus"}) + cartoons), {"Tools", "cartoons"}, "it is not well-formed XML"},
        // Read as the code page shows it, the keyword would be merged in as "??": the group
        // stays in the file as it is and leaves the tree, as a box says.
        {"a keyword the code page cannot show",
         [&](const std::string& bytes) {
             return std::string(bytes).insert(bytes.find("</Group>"), "<Keyword>\xD0\x96\xD0\xB6</Keyword>\n");
         },
         file(group(2, "Tools", {"corpus", "\xD0\x96\xD0\xB6"}) + cartoons), {"cartoons"}, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        RemoveCopies();
        WriteGroups(kTwoGroups);
        TestApp().m_boxes.clear();
        ClearGroups();
        std::string strEdited;
        EXPECT_TRUE(Run([&](CPurgeletDlg& dlg) {
            ::SetForegroundWindow(dlg.m_hWnd);
            ASSERT_TRUE(PumpUntil([&] { return TreeGroups(dlg) == std::vector<std::string>{"Tools", "Media"}; }));
            NewGroup(dlg, "cartoons", "tom");
            ASSERT_EQ(file(group(2, "Tools", {"corpus"}) + group(3, "Media", {"player"}) + cartoons), GroupsFile());
            strEdited = c.edit(GroupsFile());
            WriteGroups(strEdited);

            ClickGroup(dlg, "Media");
            DeleteAnswered(dlg, IDYES);
            EXPECT_TRUE(PumpUntil([&] { return TreeGroups(dlg) == c.tree; }));
            EXPECT_EQ(c.written, GroupsFile());
            if (c.damaged) {
                ASSERT_EQ(1u, Boxes(1).size());
                const std::string& text = TestApp().m_boxes[0].text;
                EXPECT_TRUE(StartsWith(
                    text, FileLines() + "was changed by another program and cannot be read as groups: " + c.damaged))
                    << text;
                EXPECT_TRUE(EndsWith(text, ".\r\n\r\nIts contents were kept in\r\n\r\n" + Copy() +
                                               "\r\n\r\nThe groups of this program were written in its place."))
                    << text;
                EXPECT_EQ(strEdited, mainwindowtest::ReadFile(Copy()));
            }
            if (c.tree.size() == 1) {
                ASSERT_EQ(1u, Boxes(1).size());
                EXPECT_EQ(FileLines() + "holds a group whose name or keywords this system's code page (1252) cannot "
                                        "show: \"Tools\".\r\n\r\nIt is kept in the file as it is and left out of "
                                        "the groups here.",
                          TestApp().m_boxes[0].text);
            }
        }));
        EXPECT_EQ(c.written, GroupsFile());
        EXPECT_EQ(c.damaged || c.tree.size() == 1 ? 1u : 0u, TestApp().m_boxes.size());
    }
}

// ---- what the editor holds, and names as the user wrote them ------------------------------

namespace {

// Pastes text (which keys cannot type) into an editor field, as the user does from
// another program.
void PasteInto(CWnd& field, const char* text)
{
    mainwindowtest::SetClipboard(text);
    ClickIn(field.m_hWnd);
    EXPECT_TRUE(PumpUntil([&] { return ::GetFocus() == field.m_hWnd; })) << text;
    const int nLength = field.GetWindowTextLength() + (int)strlen(text);
    TapWith(VK_CONTROL, 'V');
    EXPECT_TRUE(PumpUntil([&] { return field.GetWindowTextLength() == nLength; })) << text;
}

// A box the main window shows over itself while the input runs, answered with a click
// on nAnswer; gives back its caption and text.
std::pair<std::string, std::string> BoxAnswered(CPurgeletDlg& dlg, UINT nAnswer, const std::function<void()>& input)
{
    HWND hDlg = dlg.m_hWnd;
    ownedbox::BoxWatcher box(hDlg, [nAnswer](HWND hBox) { ownedbox::ClickBoxButton(hBox, nAnswer); });
    input();
    EXPECT_TRUE(PumpUntil([&] { return box.Settled(hDlg); }, ownedbox::kBoxWaitMs) && box.m_bFound);
    box.Join();
    EXPECT_FALSE(box.m_bStuck);
    return {box.m_caption, box.m_text};
}

std::string Title(CPurgeletDlg& dlg) { return TextOf(dlg); }

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

// A control character pasted into the editor (the groups file cannot keep one): Apply
// refuses with a box over the main window that names it, stores and writes nothing, and
// leaves the editor open with what was typed and the character selected, so that a key
// typed over it mends it and Apply then goes through.
TEST_F(MainWindowGroupsFileTest, ApplyRefusesAControlCharacterAndWritesNothing)
{
    const struct
    {
        const char* what;
        const char* name;
        const char* keywords;
        int nField;
        int nChar;
        const char* box;
        const char* typedOver;
        const char* written;
    } cases[] = {
        {"in the name", "Tom\x01Jerry", "", IDC_GROUP_NAME, 3,
         "The group is not applied: its name holds the control character U+0001 at character 4, which a groups "
         "file cannot hold.\r\n\r\nRemove it and apply again.",
         "x", "Name=\"TomxJerry\""},
        {"in a keyword", "Tools", "corpus\r\nread\x02" "er", IDC_GROUP_KEYWORDS, 12,
         "The group is not applied: the keyword\r\n\r\nread er\r\n\r\nholds the control character U+0002 at "
         "character 5, which a groups file cannot hold.\r\n\r\nRemove it and apply again.",
         " ", "Name=\"Tools\">\n<Keyword>corpus</Keyword>\n<Keyword>read er</Keyword>\n</Group>"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ClearGroups();
        ::DeleteFileA(m_groupsFile.c_str());
        EXPECT_TRUE(Run([&](CPurgeletDlg& dlg) {
            ::SetForegroundWindow(dlg.m_hWnd);
            CPageUninstallGroupEditor& editor = dlg.m_pageUninstall.m_pageEditor;
            ::NewGroup(dlg);
            PasteInto(editor.m_wndName, c.name);
            if (*c.keywords != '\0') PasteInto(editor.m_wndKeywords, c.keywords);
            const auto box = BoxAnswered(dlg, IDOK, [&] { ClickIn(editor.m_wndApply.m_hWnd); });
            EXPECT_EQ(Title(dlg), box.first);
            EXPECT_EQ(c.box, box.second);

            EXPECT_TRUE(EditorOpen(dlg));
            EXPECT_EQ(c.name, TextOf(editor.m_wndName));
            EXPECT_EQ(c.keywords, TextOf(editor.m_wndKeywords));
            EXPECT_EQ(1u, CGroupManager::GetInstance()->m_Groups.size());
            EXPECT_TRUE(TreeGroups(dlg).empty());
            EXPECT_FALSE(Exists(m_groupsFile));
            CWnd* pField = editor.GetDlgItem(c.nField);
            EXPECT_TRUE(PumpUntil([&] { return ::GetFocus() == pField->m_hWnd; }));
            DWORD nStart = 0, nEnd = 0;
            pField->SendMessage(EM_GETSEL, (WPARAM)&nStart, (LPARAM)&nEnd);
            EXPECT_EQ((DWORD)c.nChar, nStart);
            EXPECT_EQ((DWORD)c.nChar + 1, nEnd);

            Type(c.typedOver);
            EXPECT_TRUE(PumpUntil([&] { return TextOf(*pField)[c.nChar] == c.typedOver[0]; })) << TextOf(*pField);
            ClickIn(editor.m_wndApply.m_hWnd);
            EXPECT_TRUE(PumpUntil([&] { return !EditorOpen(dlg) && TreeGroups(dlg).size() == 1u; }));
            EXPECT_NE(std::string::npos, GroupsFile().find(c.written)) << GroupsFile();
        }));
        EXPECT_TRUE(TestApp().m_boxes.empty());
    }
}

// A keyword is kept as typed, blanks at its ends too: through Apply, the file and the
// next start.
TEST_F(MainWindowGroupsFileTest, AKeywordKeepsItsBlanksThroughApplyTheFileAndTheNextStart)
{
    EXPECT_TRUE(Run([&](CPurgeletDlg& dlg) {
        ::SetForegroundWindow(dlg.m_hWnd);
        NewGroup(dlg, "spaced", " a b ");
        EXPECT_NE(std::string::npos, GroupsFile().find("<Keyword> a b </Keyword>")) << GroupsFile();
    }));
    ClearGroups();
    EXPECT_TRUE(Run([&](CPurgeletDlg& dlg) {
        ::SetForegroundWindow(dlg.m_hWnd);
        ASSERT_EQ((std::vector<std::string>{"spaced"}), TreeGroups(dlg));
        ASSERT_EQ(2u, CGroupManager::GetInstance()->m_Groups.size());
        EXPECT_EQ((std::vector<std::string>{" a b "}), CGroupManager::GetInstance()->m_Groups[1]->Keywords);
    }));
    EXPECT_TRUE(TestApp().m_boxes.empty());
}

// A click on another group in the tree while the editor holds a new group's typing asks
// first: Yes applies the typing and opens the group clicked, No drops it and opens that
// group, Cancel leaves the editor with its typing and the tree as it was.
TEST_F(MainWindowGroupsFileTest, ATreeClickWhileTheEditorHoldsTypingAsksWhetherToApplyIt)
{
    const struct
    {
        UINT nAnswer;
        const char* what;
    } cases[] = {{IDYES, "Yes"}, {IDNO, "No"}, {IDCANCEL, "Cancel"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ClearGroups();
        ::DeleteFileA(m_groupsFile.c_str());
        AddGroup("Tools", "corpus");
        AddGroup("Media", "player");
        EXPECT_TRUE(Run([&](CPurgeletDlg& dlg) {
            ::SetForegroundWindow(dlg.m_hWnd);
            CPageUninstallGroupEditor& editor = dlg.m_pageUninstall.m_pageEditor;
            CExtTreeCtrl& tree = Groups(dlg).m_wndTree;
            ::NewGroup(dlg);
            TypeInto(editor.m_wndName, "cartoons");
            TypeInto(editor.m_wndKeywords, "alpha");
            const HTREEITEM hCaret = tree.GetSelectedItem();

            const auto box = BoxAnswered(dlg, c.nAnswer, [&] { ClickGroup(dlg, "Media"); });
            EXPECT_EQ(Title(dlg), box.first);
            EXPECT_EQ("The group editor holds changes that are not applied yet.\r\n\r\nDo you want to apply them?",
                      box.second);

            EXPECT_TRUE(EditorOpen(dlg));
            if (c.nAnswer == IDCANCEL) {
                EXPECT_EQ("cartoons", TextOf(editor.m_wndName));
                EXPECT_EQ("alpha", TextOf(editor.m_wndKeywords));
                EXPECT_EQ(hCaret, tree.GetSelectedItem());
                EXPECT_EQ((std::vector<std::string>{"Tools", "Media"}), TreeGroups(dlg));
                EXPECT_FALSE(Exists(m_groupsFile));
                return;
            }
            EXPECT_TRUE(PumpUntil([&] { return TextOf(editor.m_wndName) == "Media"; })) << TextOf(editor.m_wndName);
            EXPECT_EQ("player\r\n", TextOf(editor.m_wndKeywords));
            EXPECT_EQ(TreeItem(dlg, "Media"), tree.GetSelectedItem());
            if (c.nAnswer == IDYES) {
                EXPECT_EQ((std::vector<std::string>{"Tools", "Media", "cartoons"}), TreeGroups(dlg));
                EXPECT_NE(std::string::npos, GroupsFile().find("Name=\"cartoons\">\n<Keyword>alpha</Keyword>"))
                    << GroupsFile();
            } else {
                EXPECT_EQ((std::vector<std::string>{"Tools", "Media"}), TreeGroups(dlg));
                EXPECT_FALSE(Exists(m_groupsFile));
            }
        }));
        EXPECT_TRUE(TestApp().m_boxes.empty());
    }
}

// A double-click on the group the editor holds typing for asks too; Yes applies the typing
// and opens the group again as applied.
TEST_F(MainWindowGroupsFileTest, ADoubleClickOnTheEditedGroupAsksBeforeOpeningItAgain)
{
    AddGroup("Tools", "corpus");
    EXPECT_TRUE(Run([&](CPurgeletDlg& dlg) {
        ::SetForegroundWindow(dlg.m_hWnd);
        CPageUninstallGroupEditor& editor = dlg.m_pageUninstall.m_pageEditor;
        OpenInEditor(dlg, "Tools");
        TypeInto(editor.m_wndKeywords, "alpha");
        CRect rc;
        Groups(dlg).m_wndTree.GetItemRect(TreeItem(dlg, "Tools"), &rc, TRUE);
        const auto box = BoxAnswered(dlg, IDYES, [&] {
            ClickIn(Groups(dlg).m_wndTree.m_hWnd, rc);
            ClickIn(Groups(dlg).m_wndTree.m_hWnd, rc);
        });
        EXPECT_EQ("The group editor holds changes that are not applied yet.\r\n\r\nDo you want to apply them?",
                  box.second);
        EXPECT_TRUE(PumpUntil([&] { return EditorOpen(dlg) && TextOf(editor.m_wndKeywords) == "corpus\r\nalpha\r\n"; }))
            << TextOf(editor.m_wndKeywords);
        EXPECT_NE(std::string::npos, GroupsFile().find("<Keyword>corpus</Keyword>\n<Keyword>alpha</Keyword>"))
            << GroupsFile();
    }));
}

// Closing the main window while the editor holds a new group's typing asks first, as a
// tree click does: Yes applies it and closes, No closes without it, Cancel keeps the window
// and the typing. File > Exit and Alt+F4 (the system menu's Close, SC_CLOSE) ask.
TEST_F(MainWindowGroupsFileTest, ClosingTheWindowWhileTheEditorHoldsTypingAsksWhetherToApplyIt)
{
    const struct
    {
        const char* what;
        std::function<void(CPurgeletDlg&)> close;
        UINT nAnswer;
        bool bClosed, bWritten;
    } cases[] = {
        {"File > Exit, Yes", [](CPurgeletDlg&) { TapKeys({{VK_MENU, 'F'}, {0, 'X'}}); }, IDYES, true, true},
        {"Alt+F4, No", [](CPurgeletDlg&) { TapWith(VK_MENU, VK_F4); }, IDNO, true, false},
        {"Alt+F4, Cancel", [](CPurgeletDlg&) { TapWith(VK_MENU, VK_F4); }, IDCANCEL, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ClearGroups();
        ::DeleteFileA(m_groupsFile.c_str());
        EXPECT_TRUE(Run([&](CPurgeletDlg& dlg) {
            ::SetForegroundWindow(dlg.m_hWnd);
            CPageUninstallGroupEditor& editor = dlg.m_pageUninstall.m_pageEditor;
            ::NewGroup(dlg);
            TypeInto(editor.m_wndName, "cartoons");
            TypeInto(editor.m_wndKeywords, "alpha");

            const auto box = BoxAnswered(dlg, c.nAnswer, [&] { c.close(dlg); });
            EXPECT_EQ("The group editor holds changes that are not applied yet.\r\n\r\nDo you want to apply them?",
                      box.second);

            EXPECT_EQ(c.bClosed, !dlg.ContinueModal());
            EXPECT_EQ(c.bClosed, !dlg.IsWindowVisible());
            if (!c.bClosed) {
                EXPECT_TRUE(EditorOpen(dlg));
                EXPECT_EQ("cartoons", TextOf(editor.m_wndName));
                EXPECT_EQ("alpha", TextOf(editor.m_wndKeywords));
            }
        }));
        if (c.bWritten) {
            EXPECT_NE(std::string::npos, GroupsFile().find("Name=\"cartoons\">\n<Keyword>alpha</Keyword>"))
                << GroupsFile();
        } else {
            EXPECT_FALSE(Exists(m_groupsFile)) << GroupsFile();
        }
        EXPECT_TRUE(TestApp().m_boxes.empty());
    }
}

// A display name holding a control character or a line break (registry data may hold
// either), offered as the keyword: OK refuses it with a box over the dialog that names
// it, adds and writes nothing, and keeps the dialog up with the character selected; typed
// over, OK adds it. A line break would come back from the group editor as two keywords.
TEST_F(MainWindowGroupsFileTest, AddToGroupRefusesAKeywordTheFileCannotHold)
{
    const struct
    {
        const char* what;
        const char* name;
        const char* box;
        DWORD nStart, nEnd;
    } cases[] = {
        {"a control character", "Delta\x01Suite",
         "Nothing is added to the group: the keyword\r\n\r\nDelta Suite\r\n\r\nholds the control character "
         "U+0001 at character 6, which a groups file cannot hold.\r\n\r\nRemove it and click OK again.",
         5, 6},
        {"a line break", "Delta\r\nSuite",
         "Nothing is added to the group: the keyword\r\n\r\nDelta  Suite\r\n\r\nholds a line break at character "
         "6, which a keyword cannot hold: the group editor shows each keyword on a line of its own.\r\n\r\nRemove "
         "it and click OK again.",
         5, 7},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ClearGroups();
        WriteGroups(kTwoGroups);
        ASSERT_TRUE(RegistrySandbox::SetString(HKEY_CURRENT_USER, UninstallKeyPath + "Delta", "DisplayName", c.name));
        EXPECT_TRUE(Run([&](CPurgeletDlg& dlg) {
            ::SetForegroundWindow(dlg.m_hWnd);
            ASSERT_TRUE(PumpUntil([&] { return TreeGroups(dlg) == std::vector<std::string>{"Tools", "Media"}; }));
            ClickRow(dlg, c.name);
            HWND hDlg = dlg.m_hWnd;
            std::string caption, text, fileMeanwhile;
            DWORD nStart = 0, nEnd = 0;
            bool bStayed = false, bStuck = false;
            ownedbox::BoxWatcher adding(hDlg, [&](HWND hAdd) {
                HWND hKeyword = ::GetDlgItem(hAdd, IDC_KEYWORD);
                realinput::SleepUntil([&] { return realinput::ThreadFocusIs(hDlg, hKeyword); }, ownedbox::kBoxWaitMs);
                {
                    ownedbox::BoxWatcher refusal(hAdd, [](HWND hBox) { ownedbox::ClickBoxButton(hBox, IDOK); });
                    Tap(VK_RETURN);
                    refusal.Join();
                    caption = refusal.m_caption;
                    text = refusal.m_text;
                    bStuck = refusal.m_bStuck;
                }
                realinput::SleepUntil([&] { return realinput::ThreadFocusIs(hDlg, hKeyword); }, ownedbox::kBoxWaitMs);
                bStayed = ::IsWindowVisible(hAdd) != FALSE;
                fileMeanwhile = GroupsFile();
                ::SendMessageA(hKeyword, EM_GETSEL, (WPARAM)&nStart, (LPARAM)&nEnd);
                Type(" ");
                const bool bMended = realinput::SleepUntil(
                    [&] {
                        char typed[32] = "";
                        ::GetWindowTextA(hKeyword, typed, sizeof(typed));
                        return strcmp(typed, "Delta Suite") == 0;
                    },
                    ownedbox::kBoxWaitMs);
                Tap(bMended ? VK_RETURN : VK_ESCAPE);  // not mended: OK would be refused again
            });
            TapKeys({{VK_MENU, 'A'}, {0, 'A'}});
            EXPECT_TRUE(PumpUntil([&] { return adding.Settled(hDlg); },
                                  ownedbox::kBoxWaitMs) && adding.m_bFound);
            adding.Join();
            EXPECT_FALSE(adding.m_bStuck);
            EXPECT_FALSE(bStuck);
            EXPECT_EQ("Add to group", caption);
            EXPECT_EQ(c.box, text);
            EXPECT_TRUE(bStayed);
            EXPECT_EQ(c.nStart, nStart);
            EXPECT_EQ(c.nEnd, nEnd);
            EXPECT_EQ(kTwoGroups, fileMeanwhile);

            EXPECT_TRUE(
                PumpUntil([&] { return GroupsFile().find("<Keyword>Delta Suite</Keyword>") != std::string::npos; }))
                << GroupsFile();
            ASSERT_EQ(3u, CGroupManager::GetInstance()->m_Groups.size());
            EXPECT_EQ((std::vector<std::string>{"corpus", "Delta Suite"}),
                      CGroupManager::GetInstance()->m_Groups[1]->Keywords);
        }));
        EXPECT_TRUE(TestApp().m_boxes.empty());
    }
}

// A keyword holding a line break comes only from a file edited by hand. The editor shows
// its lines one per line: Apply keeps it as it is while the keywords are not touched, and
// asks before it stores the lines as keywords of their own.
TEST_F(MainWindowGroupsFileTest, TheEditorSplitsNoKeywordHoldingALineBreakUnasked)
{
    WriteGroups("<?xml version=\"1.0\"?>\n<NimboPurgelet Version=\"1.1\">\n<Purgelet>\n<Group Id=\"2\" Name=\"Tools\">\n"
                "<Keyword>Corpus&#13;&#10;Reader</Keyword>\n</Group>\n</Purgelet>\n</NimboPurgelet>\n");
    EXPECT_TRUE(Run([&](CPurgeletDlg& dlg) {
        ::SetForegroundWindow(dlg.m_hWnd);
        CPageUninstallGroupEditor& editor = dlg.m_pageUninstall.m_pageEditor;
        ASSERT_EQ(2u, CGroupManager::GetInstance()->m_Groups.size());
        GroupEntry* pTools = CGroupManager::GetInstance()->m_Groups[1];
        const std::vector<std::string> stored = pTools->Keywords;
        ASSERT_EQ(1u, stored.size());
        ASSERT_NE(std::string::npos, stored[0].find('\n'));

        OpenInEditor(dlg, "Tools");
        TypeInto(editor.m_wndName, " renamed");
        ClickIn(editor.m_wndApply.m_hWnd);
        ASSERT_TRUE(PumpUntil([&] { return !EditorOpen(dlg); }));
        EXPECT_EQ("Tools renamed", pTools->Name);
        EXPECT_EQ(stored, pTools->Keywords);

        ClickGroupTool(dlg, ID_GROUP_EDIT);
        ASSERT_TRUE(PumpUntil([&] { return EditorOpen(dlg) && TextOf(editor.m_wndName) == "Tools renamed"; }));
        TypeInto(editor.m_wndKeywords, "alpha");
        for (UINT nAnswer : {IDNO, IDYES}) {
            const auto box = BoxAnswered(dlg, nAnswer, [&] { ClickIn(editor.m_wndApply.m_hWnd); });
            EXPECT_EQ("The keyword\r\n\r\n" + BoxNameLine(stored[0]) +
                          "\r\n\r\nholds a line break, and the editor shows each of its lines as a keyword of its "
                          "own: applied, the group keeps them as separate keywords.\r\n\r\nDo you want to apply the "
                          "group?",
                      box.second);
            if (nAnswer == IDNO) {
                EXPECT_TRUE(EditorOpen(dlg));
                EXPECT_EQ(stored, pTools->Keywords);
            }
        }
        EXPECT_TRUE(PumpUntil([&] { return !EditorOpen(dlg); }));
        EXPECT_EQ((std::vector<std::string>{"Corpus", "Reader", "alpha"}), pTools->Keywords);
    }));
    EXPECT_TRUE(TestApp().m_boxes.empty());
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

namespace {

// Where the typing a session's end could not apply is kept.
const char kKeptTypingKey[] = "Software\\Corvalin\\Nimbo Purgelet\\Group Editor";

// A text value as the registry test reads it back (type REG_SZ, ending in its zero).
std::string Sz(const std::string& text) { return "1:" + text + std::string(1, '\0'); }

// Two boxes in a row over the main window while the input runs: the first answered
// nFirst, then the one it leads to answered nSecond. Gives back their texts.
std::pair<std::string, std::string> TwoBoxesAnswered(CPurgeletDlg& dlg, UINT nFirst, UINT nSecond,
                                                     const std::function<void()>& input)
{
    HWND hDlg = dlg.m_hWnd;
    std::unique_ptr<ownedbox::BoxWatcher> second;
    std::atomic<bool> bSecondWatched{false};
    ownedbox::BoxWatcher first(hDlg, [&](HWND hBox) {
        ownedbox::ClickBoxButton(hBox, nFirst);
        realinput::SleepUntil([&] { return !::IsWindowVisible(hBox); }, ownedbox::kBoxWaitMs);
        second.reset(new ownedbox::BoxWatcher(hDlg, [nSecond](HWND h) { ownedbox::ClickBoxButton(h, nSecond); }));
        bSecondWatched = true;
    });
    input();
    EXPECT_TRUE(PumpUntil([&] { return first.m_bGaveUp || (bSecondWatched && second->Settled(hDlg)); },
                          2 * ownedbox::kBoxWaitMs));
    first.Join();
    if (!second) return {first.m_text, ""};
    second->Join();
    EXPECT_FALSE(first.m_bStuck || second->m_bStuck);
    return {first.m_text, second->m_text};
}

}  // namespace

// Yes to the question whether to apply typing that has no name: a box says why, the
// typing stays in the editor with the focus in the empty Name field, and what asked (a
// click on another group, the window's close) goes no further.
TEST_F(MainWindowGroupsFileTest, YesToApplyTypingWithoutANameSaysWhyAndKeepsIt)
{
    const struct
    {
        const char* what;
        std::function<void(CPurgeletDlg&)> input;
    } cases[] = {
        {"a click on another group", [](CPurgeletDlg& dlg) { ClickGroup(dlg, "Media"); }},
        {"Alt+F4", [](CPurgeletDlg&) { TapWith(VK_MENU, VK_F4); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ClearGroups();
        AddGroup("Tools", "corpus");
        AddGroup("Media", "player");
        EXPECT_TRUE(Run([&](CPurgeletDlg& dlg) {
            ::SetForegroundWindow(dlg.m_hWnd);
            CPageUninstallGroupEditor& editor = dlg.m_pageUninstall.m_pageEditor;
            ::NewGroup(dlg);
            TypeInto(editor.m_wndKeywords, "alpha");
            const HTREEITEM hCaret = Groups(dlg).m_wndTree.GetSelectedItem();

            const auto boxes = TwoBoxesAnswered(dlg, IDYES, IDOK, [&] { c.input(dlg); });
            EXPECT_EQ("The group editor holds changes that are not applied yet.\r\n\r\nDo you want to apply them?",
                      boxes.first);
            EXPECT_EQ("The group is not applied: it has no name.\r\n\r\nType a name and apply again.", boxes.second);

            mainwindowtest::Pump(200);
            EXPECT_TRUE(dlg.ContinueModal());
            EXPECT_TRUE(EditorOpen(dlg));
            EXPECT_EQ("", TextOf(editor.m_wndName));
            EXPECT_EQ("alpha", TextOf(editor.m_wndKeywords));
            EXPECT_TRUE(PumpUntil([&] { return ::GetFocus() == editor.m_wndName.m_hWnd; }));
            EXPECT_EQ(hCaret, Groups(dlg).m_wndTree.GetSelectedItem());
            EXPECT_EQ((std::vector<std::string>{"Tools", "Media"}), TreeGroups(dlg));
            EXPECT_FALSE(Exists(m_groupsFile));
        }));
        EXPECT_TRUE(TestApp().m_boxes.empty());
    }
}

// Edit in the groups toolbar while the editor holds a new group's typing, Yes: the typing
// becomes a group (current, bold), and the editor shows the group Edit pointed at, which
// the tree highlights.
TEST_F(MainWindowGroupsFileTest, EditAfterYesHighlightsTheGroupTheEditorShows)
{
    AddGroup("Tools", "corpus");
    AddGroup("Media", "player");
    EXPECT_TRUE(Run([&](CPurgeletDlg& dlg) {
        ::SetForegroundWindow(dlg.m_hWnd);
        CPageUninstallGroupEditor& editor = dlg.m_pageUninstall.m_pageEditor;
        ClickGroup(dlg, "Media");
        ASSERT_TRUE(PumpUntil([&] { return GroupsState(dlg) == "1 of 6 programs found; highlighted Media; bold Media"; }))
            << GroupsState(dlg);
        ::NewGroup(dlg);
        TypeInto(editor.m_wndName, "cartoons");
        TypeInto(editor.m_wndKeywords, "alpha");

        const auto box = BoxAnswered(dlg, IDYES, [&] { ClickGroupTool(dlg, ID_GROUP_EDIT); });
        EXPECT_EQ("The group editor holds changes that are not applied yet.\r\n\r\nDo you want to apply them?",
                  box.second);
        EXPECT_TRUE(PumpUntil([&] { return EditorOpen(dlg) && TextOf(editor.m_wndName) == "Media"; }));
        EXPECT_EQ("1 of 6 programs found; highlighted Media; bold cartoons", GroupsState(dlg));
        EXPECT_EQ((std::vector<std::string>{"Tools", "Media", "cartoons"}), TreeGroups(dlg));
        EXPECT_NE(std::string::npos, GroupsFile().find("Name=\"cartoons\">\n<Keyword>alpha</Keyword>")) << GroupsFile();
    }));
    EXPECT_TRUE(TestApp().m_boxes.empty());
}

// The session ends (log-off, shut-down) while the editor holds typing; nothing is asked.
// Typing Apply would store goes into the groups file. Typing it would refuse (no name) is
// kept in the program's key and comes back in the editor at the next start, over the
// group it was typed for, ready to be applied; a session end called off drops the kept copy.
TEST_F(MainWindowGroupsFileTest, ASessionEndAppliesTheEditorsTypingOrKeepsItForTheNextStart)
{
    const struct
    {
        const char* what;
        const char* group;  // opened in the editor; NULL: New
        const char* name;   // typed over the name
        bool bEnds;         // the session ends, or the end is called off
        std::map<std::string, std::string> kept;
        std::vector<std::string> keywords;  // of the group applied at the end
    } cases[] = {
        {"a new group", NULL, "cartoons", true, {}, {"alpha"}},
        {"a new group without a name", NULL, "", true, {{"Name", Sz("")}, {"Keywords", Sz("alpha")}}, {"alpha"}},
        {"a group whose name was emptied", "Tools", "", true,
         {{"Group", Sz("Tools")}, {"Name", Sz("")}, {"Keywords", Sz("corpus\r\nalpha")}}, {"corpus", "alpha"}},
        {"the end called off", NULL, "", false, {}, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ClearGroups();
        ::DeleteFileA(m_groupsFile.c_str());
        AddGroup("Tools", "corpus");
        EXPECT_TRUE(Run([&](CPurgeletDlg& dlg) {
            ::SetForegroundWindow(dlg.m_hWnd);
            CPageUninstallGroupEditor& editor = dlg.m_pageUninstall.m_pageEditor;
            if (c.group != NULL) {
                OpenInEditor(dlg, c.group);
                ClickIn(editor.m_wndName.m_hWnd);
                Tap(VK_HOME);
                TapWith(VK_SHIFT, VK_END);
                Tap(VK_DELETE);
                EXPECT_TRUE(PumpUntil([&] { return editor.m_wndName.GetWindowTextLength() == 0; }));
            } else {
                ::NewGroup(dlg);
            }
            if (*c.name != '\0') TypeInto(editor.m_wndName, c.name);
            TypeInto(editor.m_wndKeywords, "alpha");

            EXPECT_TRUE(dlg.SendMessage(WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF));
            dlg.SendMessage(WM_ENDSESSION, c.bEnds, ENDSESSION_LOGOFF);
            EXPECT_EQ(c.kept, mainwindowtest::StoredValues(kKeptTypingKey));
            EXPECT_EQ(c.kept.empty() && c.bEnds, !EditorOpen(dlg));
            EXPECT_EQ(c.kept.empty() && c.bEnds, Exists(m_groupsFile));
            if (!c.bEnds) {
                EXPECT_FALSE(RegistrySandbox::KeyExists(HKEY_CURRENT_USER, kKeptTypingKey));
                EXPECT_TRUE(CUiManager::GetInstance()->IsGroupEditorTyped());
                EXPECT_EQ("alpha", TextOf(editor.m_wndKeywords));
            }
            if (c.kept.empty() && c.bEnds)
                EXPECT_NE(std::string::npos, GroupsFile().find("Name=\"cartoons\">\n<Keyword>alpha</Keyword>"))
                    << GroupsFile();
        }));
        EXPECT_TRUE(TestApp().m_boxes.empty());
        if (c.kept.empty()) continue;

        // The next start: the editor shows the typing as it was left.
        EXPECT_TRUE(Run([&](CPurgeletDlg& dlg) {
            ::SetForegroundWindow(dlg.m_hWnd);
            CPageUninstallGroupEditor& editor = dlg.m_pageUninstall.m_pageEditor;
            GroupEntry* pTools = CGroupManager::GetInstance()->m_Groups[1];
            ASSERT_TRUE(PumpUntil([&] { return EditorOpen(dlg) && dlg.IsWindowVisible(); }));
            EXPECT_EQ(c.group != NULL ? pTools : NULL, editor.m_pGroup);
            EXPECT_EQ("", TextOf(editor.m_wndName));
            EXPECT_EQ(c.kept.at("Keywords"), Sz(TextOf(editor.m_wndKeywords)));
            EXPECT_TRUE(CUiManager::GetInstance()->IsGroupEditorTyped());
            EXPECT_FALSE(RegistrySandbox::KeyExists(HKEY_CURRENT_USER, kKeptTypingKey));

            TypeInto(editor.m_wndName, "kept");
            ClickIn(editor.m_wndApply.m_hWnd);
            EXPECT_TRUE(PumpUntil([&] { return !EditorOpen(dlg); }));
            const std::vector<GroupEntry*>& groups = CGroupManager::GetInstance()->m_Groups;
            ASSERT_EQ(c.group != NULL ? 2u : 3u, groups.size());
            EXPECT_EQ("kept", groups.back()->Name);
            EXPECT_EQ(c.keywords, groups.back()->Keywords);
        }));
        EXPECT_TRUE(TestApp().m_boxes.empty());
    }
}
