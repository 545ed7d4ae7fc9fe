// What the tests of the groups pane, the group editor and the groups file through the real
// main window share: the main window over six programs and no stored groups, the groups
// file and the options put back around a test, and real keys and clicks on the groups
// tree, its toolbar, the list and the editor.
#pragma once

#include "main_window_fixture.h"
#include "owned_box.h"
#include "real_input.h"
#include "app/groups_store.h"
#include "app/page_uninstall_groups.h"
#include "app/purgelet_dlg.h"
#include "app/ui_manager.h"
#include "catalogue/groups.h"
#include "catalogue/options.h"
#include "catalogue/program_entry.h"
#include "res/resource.h"
#include "support/registry_sandbox.h"
#include <gtest/gtest.h>
#include <fstream>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace mainwindowgroupstest {

// The helpers of the main window's tests and of real input that the groups tests call by
// their plain names, here and in the tests that use this namespace.
using mainwindowtest::List;
using mainwindowtest::PumpUntil;
using mainwindowtest::TreeItem;
using realinput::ClickIn;
using realinput::Tap;
using realinput::TapKeys;
using realinput::TapWith;
using realinput::Type;
using testsupport::RegistrySandbox;

// A groups file as the program writes it, around the given Group elements.
inline std::string GroupsFileOf(const std::string& groups)
{
    return "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<NimboPurgelet Version=\"1.1\">\n<Purgelet>\n" + groups +
           "</Purgelet>\n</NimboPurgelet>\n";
}

// A start of the store as the groups pane makes it: the load, then the store of the
// changes the last run kept once the window is up; what the user is told of both.
inline std::string LoadGroupsFileAndStoreKept()
{
    const std::string strLoad = LoadGroupsFile();
    const std::string strKept = CGroupsStore::Instance().StoreKept();
    return strLoad + (strLoad.empty() || strKept.empty() ? "" : "\r\n\r\n") + strKept;
}

// A Group element with its attributes as written and its keywords one per line.
inline std::string GroupElement(const std::string& attributes, const std::vector<const char*>& keywords)
{
    std::string text = "<Group " + attributes + ">\n";
    for (const char* k : keywords) text += std::string("<Keyword>") + k + "</Keyword>\n";
    return text + "</Group>\n";
}

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

inline CPageUninstallGroups& Groups(CPurgeletDlg& dlg) { return dlg.m_pageUninstall.m_pageGroups; }

// What the user sees of the groups: the count of the list, the highlighted item and
// every bold one, in one line so a failing step shows all of it.
inline std::string GroupsState(CPurgeletDlg& dlg)
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

inline void ClickGroup(CPurgeletDlg& dlg, const char* text)
{
    CRect rc;
    Groups(dlg).m_wndTree.GetItemRect(TreeItem(dlg, text), &rc, TRUE);
    ClickIn(Groups(dlg).m_wndTree.m_hWnd, rc);
}

inline void ClickGroupTool(CPurgeletDlg& dlg, UINT nID)
{
    CExtToolControlBar& bar = Groups(dlg).m_wndToolBar;
    if (CExtBarButton* pButton = mainwindowtest::BarButton(bar, nID)) ClickIn(bar.m_hWnd, pButton->Rect());
}

inline void ClickRow(CPurgeletDlg& dlg, const char* name)
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

inline bool EditorOpen(CPurgeletDlg& dlg) { return dlg.m_pageUninstall.m_wndEditorBar.IsWindowVisible() != FALSE; }

// New in the groups toolbar; returns once the editor is shown with the focus in its Name
// field. A click aimed at the editor before then goes by where its fields lay while it
// was hidden, and misses them when the panes were sized otherwise since.
inline void NewGroup(CPurgeletDlg& dlg)
{
    CPageUninstallGroupEditor& editor = dlg.m_pageUninstall.m_pageEditor;
    ClickGroupTool(dlg, ID_GROUP_NEW);
    EXPECT_TRUE(PumpUntil([&] { return EditorOpen(dlg) && ::GetFocus() == editor.m_wndName.m_hWnd; }));
}

// New in the groups toolbar, then a click on the group to open it in the editor.
inline void OpenInEditor(CPurgeletDlg& dlg, const char* group)
{
    CPageUninstallGroupEditor& editor = dlg.m_pageUninstall.m_pageEditor;
    NewGroup(dlg);
    ClickGroup(dlg, group);
    EXPECT_TRUE(PumpUntil([&] { return editor.m_wndName.GetWindowTextLength() > 0; })) << group;
}

// A click into an editor field, then typing at its end.
inline void TypeInto(CWnd& field, const char* text)
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
inline void AddToGroup(CPurgeletDlg& dlg, const char* keyword)
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
inline Question DeleteAnswered(CPurgeletDlg& dlg, UINT nAnswer)
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

// Sends a session's end message (WM_QUERYENDSESSION, WM_ENDSESSION) as the system does. It
// must not wait on a box: one that comes anyway is answered No at once and the test
// fails, rather than hanging on it.
inline LRESULT SendSessionEnd(CPurgeletDlg& dlg, UINT nMessage, WPARAM wParam)
{
    ownedbox::BoxWatcher box(dlg.m_hWnd, ownedbox::Press(IDNO));
    const LRESULT nResult = dlg.SendMessage(nMessage, wParam, ENDSESSION_LOGOFF);
    box.Stop();
    box.Join();
    EXPECT_FALSE(box.m_bFound) << box.m_text;
    return nResult;
}

// The session asks and ends (or is called off).
inline void EndSession(CPurgeletDlg& dlg, bool bEnds)
{
    EXPECT_TRUE(SendSessionEnd(dlg, WM_QUERYENDSESSION, 0));
    SendSessionEnd(dlg, WM_ENDSESSION, bEnds);
}

// Empties an editor field with keys: Home, Shift+End, Delete.
inline void EmptyField(CWnd& field)
{
    ClickIn(field.m_hWnd);
    Tap(VK_HOME);
    TapWith(VK_SHIFT, VK_END);
    Tap(VK_DELETE);
    EXPECT_TRUE(PumpUntil([&] { return field.GetWindowTextLength() == 0; }));
}

// Where the typing a session's end could not apply is kept, and the changes to the groups
// the file did not hold when the program ended.
const char kKeptTypingKey[] = "Software\\Corvalin\\Nimbo Purgelet\\Group Editor";
const char kKeptChangesKey[] = "Software\\Corvalin\\Nimbo Purgelet\\Groups Not Stored";
const char kUntoldKey[] = "Software\\Corvalin\\Nimbo Purgelet\\Groups Not Told";
// Whether the program's key keeps changes for the next start (a record, or the mark an
// earlier build reads); the section may stay behind empty.
inline bool KeptChangesThere()
{
    HKEY hKey = NULL;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, kKeptChangesKey, 0, KEY_READ, &hKey) != ERROR_SUCCESS) return false;
    DWORD nValues = 0;
    const LONG nResult =
        ::RegQueryInfoKeyA(hKey, NULL, NULL, NULL, NULL, NULL, NULL, &nValues, NULL, NULL, NULL, NULL);
    ::RegCloseKey(hKey);
    return nResult != ERROR_SUCCESS || nValues > 0;
}
// What the start says, after the file's lines, once it stored the changes kept.
const char kNowHolds[] =
    "now holds the changes to the groups that could not be stored in it when the program last ended.";

// A text value as the registry test reads it back (type REG_SZ, ending in its zero).
inline std::string Sz(const std::string& text) { return "1:" + text + std::string(1, '\0'); }
// A number value as the registry test reads it back (type REG_DWORD).
inline std::string Dw(DWORD nValue) { return "4:" + std::string((const char*)&nValue, sizeof(nValue)); }

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
    // The program's key, as the start names it: what a session's end keeps goes there.
    void UseProgramKey()
    {
        RegistrySandbox::DeleteTree(HKEY_CURRENT_USER, kKeptChangesKey);
        CWinApp& app = TestApp();
        free(const_cast<LPTSTR>(app.m_pszRegistryKey));
        app.m_pszRegistryKey = _strdup("Corvalin");
        free(const_cast<LPTSTR>(app.m_pszProfileName));
        app.m_pszProfileName = _strdup("Nimbo Purgelet");
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
    // The groups file is, node for node, the document `expected` holds; no temporary file
    // or copy is left beside it. A large file's difference is not printed (bBrief).
    void ExpectFileNodes(const std::string& expected, bool bBrief = false);
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
    // From no groups file and only the groups given {name, keyword} in memory, a run of
    // the program with the scenario started in the editor of a new group, the main window
    // in front. Answers as Run does.
    bool RunInNewGroup(const std::function<void(CPurgeletDlg&, CPageUninstallGroupEditor&)>& scenario,
                       const std::vector<std::pair<const char*, const char*>>& groups = {})
    {
        ForgetGroups();
        for (const auto& group : groups) mainwindowtest::AddGroup(group.first, group.second);
        return Run([&](CPurgeletDlg& dlg) {
            ::SetForegroundWindow(dlg.m_hWnd);
            mainwindowgroupstest::NewGroup(dlg);
            scenario(dlg, dlg.m_pageUninstall.m_pageEditor);
        });
    }
    // A new group through the editor: New, a name, a keyword, Apply.
    static void NewGroup(CPurgeletDlg& dlg, const char* name, const char* keyword)
    {
        CPageUninstallGroupEditor& editor = dlg.m_pageUninstall.m_pageEditor;
        mainwindowgroupstest::NewGroup(dlg);
        TypeInto(editor.m_wndName, name);
        TypeInto(editor.m_wndKeywords, keyword);
        ClickIn(editor.m_wndApply.m_hWnd);
        EXPECT_TRUE(PumpUntil([&] { return !EditorOpen(dlg) && TreeItem(dlg, name) != NULL; }))
            << name;
    }

    std::vector<std::pair<int, bool>> m_options;
};

}  // namespace mainwindowgroupstest
