// The groups page's tree from the groups model and the groups file, the current group
// that filters the program list, the New, Delete and Edit commands with their enable
// rules, and the group editor applying a name and keywords to the model and the file.
#include "pages_test_util.h"
#include "owned_box.h"
#include "app/page_uninstall_group_editor.h"
#include "app/page_uninstall_groups.h"
#include "app/page_uninstall_view.h"
#include "app/purgelet_app.h"
#include "res/resource.h"
#include <fstream>
#include <new>
#include <sstream>

namespace {

// A left pane that records the group-editor messages it receives.
struct LeftPaneRecorder : public CWnd
{
    std::vector<std::pair<UINT, int>> m_calls;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == g_nMsgShowGroupEditor || message == g_nMsgCloseGroupEditor) {
            m_calls.push_back({message, (int)(INT_PTR)wParam});
            return 0;
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

std::string ReadFile(const std::string& path, bool* pExists)
{
    std::ifstream in(path.c_str(), std::ios::binary);
    *pExists = (bool)in;
    std::stringstream content;
    if (in) content << in.rdbuf();
    return content.str();
}

class GroupsPageTest : public pagestest::PagesTest
{
protected:
    void SetUp() override
    {
        PagesTest::SetUp();
        if (HasFatalFailure()) return;
        // The page reads and writes the real groups file; keep the one found there.
        m_strPath = GetGroupsFilePath();
        m_strSaved = ReadFile(m_strPath, &m_bHadFile);
        ::DeleteFileA(m_strPath.c_str());
        ASSERT_TRUE(m_left.CreateEx(0, AfxRegisterWndClass(0), "left", WS_POPUP, 0, 0, 1, 1, NULL, NULL));
        CUiManager::GetInstance()->m_hWndLeftPane = m_left.GetSafeHwnd();
    }
    void TearDown() override
    {
        if (m_editor.GetSafeHwnd() != NULL) m_editor.DestroyWindow();
        if (m_page.GetSafeHwnd() != NULL) m_page.DestroyWindow();
        if (m_view.GetSafeHwnd() != NULL) m_view.DestroyWindow();
        if (m_left.GetSafeHwnd() != NULL) m_left.DestroyWindow();
        ::DeleteFileA(m_strPath.c_str());
        if (m_bHadFile) {
            std::ofstream out(m_strPath.c_str(), std::ios::binary);
            out << m_strSaved;
        }
        PagesTest::TearDown();
    }

    void MakePage()
    {
        ASSERT_TRUE(m_page.Create(&m_host));
        m_page.MoveWindow(0, 0, 200, 400);
        m_page.ShowWindow(SW_SHOW);
        CUiManager::GetInstance()->m_hWndGroupsPage = m_page.GetSafeHwnd();
    }
    // The program list beside the tree, so the tree's filter reaches it.
    void MakeView()
    {
        SeedEntry("AppAlpha", "Alpha Suite", "a.exe", NULL);
        SeedEntry("AppView", "Gamma Viewer", "g.exe", NULL);
        SeedEntry("AppPlay", "Media Player", "m.exe", NULL);
        ASSERT_TRUE(m_view.Create(&m_host));
        m_view.MoveWindow(200, 0, 400, 400);
        CUiManager::GetInstance()->RefreshPrograms(false);
    }
    static GroupEntry* AddGroup(const char* name, const char* keyword)
    {
        GroupEntry* pGroup = CGroupManager::GetInstance()->CreateGroup();
        pGroup->Name = name;
        if (keyword != NULL) pGroup->AddKeyword(keyword);
        return pGroup;
    }
    std::vector<std::string> ChildTexts()
    {
        std::vector<std::string> texts;
        for (HTREEITEM h = m_page.m_wndTree.GetChildItem(m_page.m_hRoot); h != NULL;
             h = m_page.m_wndTree.GetNextSiblingItem(h))
            texts.push_back((LPCTSTR)m_page.m_wndTree.GetItemText(h));
        return texts;
    }
    HTREEITEM FindItem(const char* text)
    {
        if (std::string("Groups") == text) return m_page.m_hRoot;
        for (HTREEITEM h = m_page.m_wndTree.GetChildItem(m_page.m_hRoot); h != NULL;
             h = m_page.m_wndTree.GetNextSiblingItem(h))
            if (m_page.m_wndTree.GetItemText(h) == text) return h;
        return NULL;
    }
    bool IsBold(HTREEITEM h) { return (m_page.m_wndTree.GetItemState(h, TVIS_BOLD) & TVIS_BOLD) != 0; }
    bool Enabled(UINT nID)
    {
        CTestCmdUI ui;
        ui.m_nID = nID;
        ui.DoUpdate(&m_page, FALSE);
        return ui.m_bEnabled != FALSE;
    }
    std::vector<std::string> ListNames()
    {
        std::vector<std::string> names;
        CExtReportCtrl& list = m_view.m_pageList.m_wndList;
        for (int i = 0; i < list.GetItemCount(); ++i) names.push_back((LPCTSTR)list.GetItemText(i, 0));
        return names;
    }

    std::string m_strPath;
    std::string m_strSaved;
    bool m_bHadFile = false;
    LeftPaneRecorder m_left;
    CPageUninstallGroups m_page;
    CPageUninstallView m_view;
    CPageUninstallGroupEditor m_editor;
};

TEST_F(GroupsPageTest, WithoutAGroupsFileTheTreeHoldsTheRootAndOther)
{
    MakePage();
    EXPECT_EQ("Groups", std::string((LPCTSTR)m_page.m_wndTree.GetItemText(m_page.m_hRoot)));
    EXPECT_EQ((std::vector<std::string>{"Other"}), ChildTexts());
    EXPECT_TRUE(IsBold(m_page.m_hRoot));
    EXPECT_EQ(m_page.m_hRoot, m_page.m_hCurrent);
    EXPECT_EQ(0u, m_page.m_wndTree.GetItemData(m_page.m_hRoot));
    EXPECT_EQ((DWORD_PTR)CGroupManager::GetInstance()->m_Groups.front(), m_page.m_wndTree.GetItemData(FindItem("Other")));
    EXPECT_EQ(20, (int)m_page.m_wndTree.SendMessage(TVM_GETITEMHEIGHT));
    EXPECT_TRUE(Enabled(ID_GROUP_NEW));
}

TEST_F(GroupsPageTest, TheGroupsFileIsLoadedWhenThePageOpensAndWrittenWhenItGoes)
{
    AddGroup("Viewers", "view");
    AddGroup("Players", "play");
    ASSERT_TRUE(CGroupManager::GetInstance()->Save(m_strPath.c_str()));
    ClearGroups();

    MakePage();
    EXPECT_EQ((std::vector<std::string>{"Viewers", "Players", "Other"}), ChildTexts());
    for (HTREEITEM h = m_page.m_wndTree.GetChildItem(m_page.m_hRoot); h != NULL; h = m_page.m_wndTree.GetNextSiblingItem(h)) {
        GroupEntry* pGroup = (GroupEntry*)m_page.m_wndTree.GetItemData(h);
        ASSERT_TRUE(pGroup != NULL);
        EXPECT_EQ(std::string((LPCTSTR)m_page.m_wndTree.GetItemText(h)), pGroup->Name);
    }

    AddGroup("Tools", "tool");
    m_page.DestroyWindow();
    ClearGroups();
    ASSERT_TRUE(CGroupManager::GetInstance()->Load(m_strPath.c_str()));
    std::vector<std::string> names;
    for (GroupEntry* pGroup : CGroupManager::GetInstance()->m_Groups) names.push_back(pGroup->Name);
    EXPECT_EQ((std::vector<std::string>{"Other", "Viewers", "Players", "Tools"}), names);
}

TEST_F(GroupsPageTest, SelectingAGroupFiltersTheListAndMakesItBold)
{
    GroupEntry* pViewers = AddGroup("Viewers", "VIEW");
    AddGroup("Players", "play");
    MakeView();
    MakePage();
    ASSERT_EQ(3, m_view.m_pageList.m_wndList.GetItemCount());

    m_page.m_wndTree.SelectItem(FindItem("Viewers"));
    EXPECT_EQ(pViewers, CGroupManager::GetInstance()->m_pCurrentGroup);
    EXPECT_EQ((std::vector<std::string>{"Gamma Viewer"}), ListNames());
    EXPECT_TRUE(IsBold(FindItem("Viewers")));
    EXPECT_FALSE(IsBold(m_page.m_hRoot));

    m_page.m_wndTree.SelectItem(FindItem("Other"));
    EXPECT_EQ((std::vector<std::string>{"Alpha Suite"}), ListNames());
    EXPECT_FALSE(IsBold(FindItem("Viewers")));
    EXPECT_TRUE(IsBold(FindItem("Other")));

    m_page.m_wndTree.SelectItem(m_page.m_hRoot);
    EXPECT_TRUE(CGroupManager::GetInstance()->m_pCurrentGroup == NULL);
    EXPECT_EQ(3u, ListNames().size());
    EXPECT_TRUE(IsBold(m_page.m_hRoot));

    // A rebuilt tree keeps the current group bold.
    m_page.m_wndTree.SelectItem(FindItem("Players"));
    CUiManager::GetInstance()->RefreshGroups();
    EXPECT_TRUE(IsBold(FindItem("Players")));
    EXPECT_EQ(FindItem("Players"), m_page.m_hCurrent);
}

TEST_F(GroupsPageTest, DeleteAndEditActOnUserGroupsOnly)
{
    GroupEntry* pViewers = AddGroup("Viewers", "view");
    const int nViewersId = pViewers->Id;
    MakePage();
    const char* notUser[] = {"Groups", "Other"};
    for (const char* text : notUser) {
        m_page.m_wndTree.SelectItem(FindItem(text));
        EXPECT_FALSE(Enabled(ID_GROUP_DELETE)) << text;
        EXPECT_FALSE(Enabled(ID_GROUP_EDIT)) << text;
        m_page.SendMessage(WM_COMMAND, ID_GROUP_EDIT, 0);
        m_page.SendMessage(WM_COMMAND, ID_GROUP_DELETE, 0);
    }
    EXPECT_TRUE(m_left.m_calls.empty());
    EXPECT_EQ(2u, CGroupManager::GetInstance()->m_Groups.size());

    m_page.m_wndTree.SelectItem(FindItem("Viewers"));
    EXPECT_TRUE(Enabled(ID_GROUP_DELETE));
    EXPECT_TRUE(Enabled(ID_GROUP_EDIT));
    m_page.SendMessage(WM_COMMAND, ID_GROUP_EDIT, 0);
    NMHDR nm = {m_page.m_wndTree.GetSafeHwnd(), IDC_TREE, (UINT)NM_DBLCLK};
    m_page.SendMessage(WM_NOTIFY, IDC_TREE, (LPARAM)&nm);
    m_page.SendMessage(WM_COMMAND, ID_GROUP_NEW, 0);
    ASSERT_EQ(3u, m_left.m_calls.size());
    EXPECT_EQ(g_nMsgShowGroupEditor, m_left.m_calls[0].first);
    EXPECT_EQ(nViewersId, m_left.m_calls[0].second);
    EXPECT_EQ(nViewersId, m_left.m_calls[1].second) << "double click";
    EXPECT_EQ(-1, m_left.m_calls[2].second) << "New";
    ForgetGroupEditor();

    // Deleting the current group (once asked, Yes): gone from the model, the tree and the
    // file at once, and the tree and the filter fall back to all programs.
    {
        ownedbox::BoxWatcher yes(m_host.GetSafeHwnd(), [](HWND hBox) {
            ::PostMessageA(hBox, WM_COMMAND, MAKEWPARAM(IDYES, BN_CLICKED), 0);
        });
        m_page.SendMessage(WM_COMMAND, ID_GROUP_DELETE, 0);
        yes.Join();
        EXPECT_TRUE(yes.m_bFound);
    }
    EXPECT_EQ(1u, CGroupManager::GetInstance()->m_Groups.size());
    EXPECT_TRUE(CGroupManager::GetInstance()->m_pCurrentGroup == NULL);
    EXPECT_EQ((std::vector<std::string>{"Other"}), ChildTexts());
    EXPECT_TRUE(IsBold(m_page.m_hRoot));
    bool bExists = false;
    const std::string strFile = ReadFile(m_strPath, &bExists);
    EXPECT_TRUE(bExists);
    EXPECT_NE(std::string::npos, strFile.find("<NimboPurgelet")) << strFile;
    EXPECT_EQ(std::string::npos, strFile.find("Viewers")) << strFile;
}

TEST_F(GroupsPageTest, WhileTheEditorIsOpenSelectingAGroupOpensItThere)
{
    AddGroup("Viewers", "view");
    GroupEntry* pPlayers = AddGroup("Players", "play");
    MakePage();
    // The editor open as New opens it; only the selections' openings count below.
    CUiManager::GetInstance()->ShowGroupEditor(-1);
    m_left.m_calls.clear();
    m_page.m_wndTree.SelectItem(FindItem("Players"));
    m_page.m_wndTree.SelectItem(FindItem("Other"));
    ASSERT_EQ(1u, m_left.m_calls.size());
    EXPECT_EQ(pPlayers->Id, m_left.m_calls[0].second);
    EXPECT_TRUE(CGroupManager::GetInstance()->m_pCurrentGroup == NULL);
    EXPECT_TRUE(IsBold(m_page.m_hRoot));
}

// ---- group editor --------------------------------------------------------------------------

class GroupEditorTest : public GroupsPageTest
{
protected:
    void SetUp() override
    {
        GroupsPageTest::SetUp();
        if (HasFatalFailure()) return;
        MakePage();
        ASSERT_TRUE(m_editor.Create(&m_host));
        m_editor.ShowWindow(SW_SHOW);
        m_left.m_calls.clear();
    }
    void Type(int nID, const char* text) { m_editor.SetDlgItemText(nID, text); }
    CString Shown(int nID)
    {
        CString text;
        m_editor.GetDlgItemText(nID, text);
        return text;
    }
    bool Closed() const
    {
        for (const auto& call : m_left.m_calls)
            if (call.first == g_nMsgCloseGroupEditor) return true;
        return false;
    }
};

TEST_F(GroupEditorTest, OpeningAGroupFillsItsNameAndKeywordLines)
{
    GroupEntry* pGroup = AddGroup("Viewers", "view");
    pGroup->AddKeyword("Show");
    m_editor.OpenGroup(pGroup->Id);
    EXPECT_EQ(pGroup, m_editor.m_pGroup);
    EXPECT_STREQ("Viewers", (LPCTSTR)Shown(IDC_GROUP_NAME));
    EXPECT_STREQ("view\r\nShow\r\n", (LPCTSTR)Shown(IDC_GROUP_KEYWORDS));

    // Hiding clears everything.
    m_editor.ShowWindow(SW_HIDE);
    EXPECT_TRUE(m_editor.m_pGroup == NULL);
    EXPECT_STREQ("", (LPCTSTR)Shown(IDC_GROUP_NAME));
    EXPECT_STREQ("", (LPCTSTR)Shown(IDC_GROUP_KEYWORDS));

    // No group with that id: empty fields, and Apply makes a new group.
    m_editor.OpenGroup(9999);
    EXPECT_TRUE(m_editor.m_pGroup == NULL);
    EXPECT_STREQ("", (LPCTSTR)Shown(IDC_GROUP_NAME));
}

TEST_F(GroupEditorTest, ApplyStoresNameAndKeywordsWritesTheFileAndClosesTheEditor)
{
    GroupEntry* pGroup = AddGroup("Viewers", "view");
    m_page.RefillTree();
    m_editor.OpenGroup(pGroup->Id);
    Type(IDC_GROUP_NAME, "Image Viewers");
    Type(IDC_GROUP_KEYWORDS, "a\r\n\r\nb\r\n   \r\nMixed Case");
    m_editor.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_GROUP_APPLY, BN_CLICKED),
                         (LPARAM)m_editor.GetDlgItem(IDC_GROUP_APPLY)->GetSafeHwnd());
    EXPECT_EQ("Image Viewers", pGroup->Name);
    EXPECT_EQ((std::vector<std::string>{"a", "b", "   ", "Mixed Case"}), pGroup->Keywords);
    EXPECT_TRUE(Closed());
    // The tree was rebuilt with the new name.
    EXPECT_TRUE(FindItem("Image Viewers") != NULL);
    // And the file holds it.
    ClearGroups();
    ASSERT_TRUE(CGroupManager::GetInstance()->Load(m_strPath.c_str()));
    ASSERT_EQ(2u, CGroupManager::GetInstance()->m_Groups.size());
    GroupEntry* pRead = CGroupManager::GetInstance()->m_Groups[1];
    EXPECT_EQ("Image Viewers", pRead->Name);
    EXPECT_EQ((std::vector<std::string>{"a", "b", "   ", "Mixed Case"}), pRead->Keywords);
}

TEST_F(GroupEditorTest, ANewGroupWithoutKeywordsIsCreatedAndMatchesNothing)
{
    m_editor.OpenGroup(-1);
    Type(IDC_GROUP_NAME, "Empty");
    m_editor.ApplyGroup();
    CGroupManager* pGroups = CGroupManager::GetInstance();
    ASSERT_EQ(2u, pGroups->m_Groups.size());
    GroupEntry* pGroup = pGroups->m_Groups.back();
    EXPECT_EQ("Empty", pGroup->Name);
    EXPECT_TRUE(pGroup->Keywords.empty());
    EXPECT_EQ(pGroup, pGroups->FindGroup(pGroup->Id));
    pGroups->m_pCurrentGroup = pGroup;
    EXPECT_TRUE(pGroups->IsExcluded("anything"));
    pGroups->m_pCurrentGroup = NULL;
    EXPECT_TRUE(FindItem("Empty") != NULL);
}

TEST_F(GroupEditorTest, AnEmptyNameKeepsTheEditorOpenAndCancelChangesNothing)
{
    GroupEntry* pGroup = AddGroup("Viewers", "view");
    m_editor.OpenGroup(pGroup->Id);
    Type(IDC_GROUP_NAME, "");
    Type(IDC_GROUP_KEYWORDS, "other");
    m_editor.ApplyGroup();
    EXPECT_FALSE(Closed());
    EXPECT_EQ("Viewers", pGroup->Name);
    EXPECT_EQ((std::vector<std::string>{"view"}), pGroup->Keywords);
    bool bExists = true;
    ReadFile(m_strPath, &bExists);
    EXPECT_FALSE(bExists);

    // Enter does nothing; the Cancel button closes without applying.
    Type(IDC_GROUP_NAME, "Changed");
    m_editor.SendMessage(WM_COMMAND, IDOK, 0);
    EXPECT_FALSE(Closed());
    m_editor.SendMessage(WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                         (LPARAM)m_editor.GetDlgItem(IDCANCEL)->GetSafeHwnd());
    EXPECT_TRUE(Closed());
    EXPECT_EQ("Viewers", pGroup->Name);
    EXPECT_TRUE(::IsWindow(m_editor.GetSafeHwnd()));
}

// Where the refusal points: names and keywords keep tabs (and names line breaks), other
// control characters are refused; the place is counted in characters of the field, the
// box's in the keyword's own line.
TEST_F(GroupEditorTest, ControlCharactersAreFoundWhereTheyLie)
{
    const struct
    {
        const char *name, *keywords;
        int nField, nChar;
        const char* inBox;
    } cases[] = {
        {"Tab\tand\r\nbreaks", "a\r\n\r\nb c\r\n\ttab\r\nsec\x7fond", 0, 0, ""},
        {"Unit\x1fSep", "", IDC_GROUP_NAME, 4, "its name holds the control character U+001F at character 5, which"},
        {"\x1b", "", IDC_GROUP_NAME, 0, "U+001B at character 1,"},
        {"Fine", "first\r\n\r\nsec\x7fond\r\nthi\x02rd\r\n", IDC_GROUP_KEYWORDS, 21,
         "the keyword\r\n\r\nthi rd\r\n\r\nholds the control character U+0002 at character 4, which"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const CPageUninstallGroupEditor::Unstorable found = CPageUninstallGroupEditor::FindUnstorable(c.name, c.keywords);
        EXPECT_EQ(c.nField, found.nField);
        EXPECT_EQ(c.nChar, found.nChar);
        if (*c.inBox == '\0') {
            EXPECT_EQ("", found.text);
        } else {
            EXPECT_NE(std::string::npos, found.text.find(c.inBox)) << found.text;
        }
    }
}

TEST_F(GroupEditorTest, AGroupDeletedWhileOpenIsNotWrittenInto)
{
    GroupEntry* pGroup = AddGroup("Viewers", "view");
    m_editor.OpenGroup(pGroup->Id);
    CGroupManager::GetInstance()->DeleteGroup(pGroup);
    Type(IDC_GROUP_NAME, "Again");
    m_editor.ApplyGroup();
    ASSERT_EQ(2u, CGroupManager::GetInstance()->m_Groups.size());
    EXPECT_EQ("Again", CGroupManager::GetInstance()->m_Groups.back()->Name);
}

// The store may delete the groups and make them again while the editor is open (a merge
// with a changed file or kept changes): the group made again from its copy is still the
// one being edited, wherever it now lies, and a group made at its old address is another.
TEST_F(GroupEditorTest, AGroupMadeAgainWhileOpenIsTheOneAppliedNotOneAtItsOldAddress)
{
    CGroupManager* pGroups = CGroupManager::GetInstance();
    AddGroup("Viewers", "view");
    GroupEntry* pOld = AddGroup("Players", "play");
    m_editor.OpenGroup(pOld->Id);
    // As a rebuild does: the groups go, one the other program added comes first and takes
    // the freed address (forced here), the others are made again from their copies.
    const std::vector<GroupEntry> copies = pGroups->UserGroups();
    const std::vector<GroupEntry*> gone(pGroups->m_Groups.begin() + 1, pGroups->m_Groups.end());
    pGroups->m_Groups.resize(1);
    pGroups->m_pCurrentGroup = NULL;
    for (GroupEntry* pGroup : gone)
        if (pGroup != pOld) delete pGroup;
    pOld->~GroupEntry();
    GroupEntry* pNew = new (pOld) GroupEntry;
    pNew->Name = "Games";
    pNew->Id = 7;
    pGroups->m_Groups.push_back(pNew);
    for (const GroupEntry& copy : copies) pGroups->m_Groups.push_back(new GroupEntry(copy));
    Type(IDC_GROUP_NAME, "Media");
    m_editor.ApplyGroup();
    std::vector<std::string> names;
    for (const GroupEntry* pGroup : pGroups->m_Groups) names.push_back(pGroup->Name);
    EXPECT_EQ((std::vector<std::string>{"Other", "Games", "Viewers", "Media"}), names);
    EXPECT_EQ(std::vector<std::string>{"play"}, pGroups->m_Groups[3]->Keywords);
    EXPECT_TRUE(pGroups->m_Groups[1]->Keywords.empty());
}

}  // namespace
