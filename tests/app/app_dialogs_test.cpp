// The Options, Add-to-group and About dialogs, driven modelessly: created, read, then
// confirmed or cancelled through the same commands the buttons send.
#include "app_test_app.h"
#include "app/about_dlg.h"
#include "app/dlg_group.h"
#include "app/options_dlg.h"
#include "app/ui_manager.h"
#include "catalogue/groups.h"
#include "catalogue/options.h"
#include "catalogue/program_entry.h"
#include <fstream>
#include <sstream>
#include "res/resource.h"
#include "support/message_pump.h"
#include "support/msg_recorder.h"
#include "support/registry_sandbox.h"
#include "toolkit/menus/popup_color_menu_wnd.h"
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

OptionValue* const g_allOptions[] = {&g_SizeType, &g_GridColor1,  &g_GridColor2,  &g_GridEnabled, &g_AutoRefresh,
                                     &g_Hide,     &g_ShowCats,    &g_ShowDetails, &g_CatsSize,    &g_ListSize};

// A redirected HKCU with "Software" in it, the application's profile under it, and the
// options put back afterwards.
class DialogsTest : public testing::Test
{
protected:
    void SetUp() override
    {
        HKEY hSoftware = NULL;
        ASSERT_EQ(ERROR_SUCCESS, ::RegCreateKeyExA(m_box.Root(), "hkcu\\Software", 0, NULL, 0, KEY_ALL_ACCESS, NULL,
                                                   &hSoftware, NULL));
        ::RegCloseKey(hSoftware);
        ASSERT_TRUE(m_box.Override(HKEY_CURRENT_USER, "hkcu"));
        CWinApp& app = TestApp();
        m_oldKey = app.m_pszRegistryKey;
        m_oldProfile = app.m_pszProfileName;
        app.m_pszRegistryKey = _strdup("Corvalin");
        app.m_pszProfileName = _strdup("Dialogs Test");
        for (OptionValue* p : g_allOptions) {
            m_saved.push_back(p->Value);
            m_savedChanged.push_back(p->Changed);
            p->Changed = false;
        }
    }
    void TearDown() override
    {
        testsupport::PumpPending();
        for (size_t i = 0; i < m_saved.size(); ++i) {
            g_allOptions[i]->Value = m_saved[i];
            g_allOptions[i]->Changed = m_savedChanged[i];
        }
        CWinApp& app = TestApp();
        free(const_cast<LPTSTR>(app.m_pszRegistryKey));
        free(const_cast<LPTSTR>(app.m_pszProfileName));
        app.m_pszRegistryKey = m_oldKey;
        app.m_pszProfileName = m_oldProfile;
        m_box.RestoreOverrides();
    }

    // The stored text of a value in the section of the options.
    std::string Stored(const char* name)
    {
        return (LPCTSTR)TestApp().GetProfileString("Dialogs Test", name, "<none>");
    }

    testsupport::RegistrySandbox m_box;
    LPCTSTR m_oldKey = NULL;
    LPCTSTR m_oldProfile = NULL;
    std::vector<int> m_saved;
    std::vector<bool> m_savedChanged;
};

std::string ItemText(CWnd* pDlg, int nId)
{
    char sz[256] = "";
    ::GetDlgItemTextA(pDlg->m_hWnd, nId, sz, sizeof(sz));
    return sz;
}

// ---- Options -----------------------------------------------------------------------------

void SetOptionValues(int autoRefresh, int hide, int sizeType, int gridEnabled, int color1, int color2)
{
    g_AutoRefresh.Value = autoRefresh;
    g_Hide.Value = hide;
    g_SizeType.Value = sizeType;
    g_GridEnabled.Value = gridEnabled;
    g_GridColor1.Value = color1;
    g_GridColor2.Value = color2;
}

TEST_F(DialogsTest, OptionsShowTheStoredValues)
{
    SetOptionValues(1, 0, 3, 1, RGB(10, 20, 30), RGB(40, 50, 60));
    COptionsDlg dlg;
    ASSERT_TRUE(dlg.Create(NULL));
    char szTitle[64] = "";
    ::GetWindowTextA(dlg.m_hWnd, szTitle, sizeof(szTitle));
    EXPECT_STREQ("Options", szTitle);
    EXPECT_EQ((UINT)BST_CHECKED, dlg.IsDlgButtonChecked(IDC_AUTO_REFRESH));
    EXPECT_EQ((UINT)BST_UNCHECKED, dlg.IsDlgButtonChecked(IDC_HIDE_INVALID));
    EXPECT_EQ((UINT)BST_CHECKED, dlg.IsDlgButtonChecked(IDC_SHOW_GRID));
    ASSERT_EQ(4, dlg.m_wndSizeType.GetCount());
    const char* units[] = {"Bytes", "KBytes", "MBytes", "GBytes"};
    for (int i = 0; i < 4; ++i) {
        CString text;
        dlg.m_wndSizeType.GetLBText(i, text);
        EXPECT_STREQ(units[i], text) << "unit " << i;
    }
    EXPECT_EQ(3, dlg.m_wndSizeType.GetCurSel());
    EXPECT_EQ(RGB(10, 20, 30), dlg.m_wndGridColor1.m_clrCurrent);
    EXPECT_EQ(RGB(40, 50, 60), dlg.m_wndGridColor2.m_clrCurrent);
    EXPECT_EQ(0xF5EEEBu, dlg.m_wndGridColor1.m_clrDefault);
    EXPECT_EQ(0xFFFFFFu, dlg.m_wndGridColor2.m_clrDefault);
    EXPECT_EQ(dlg.m_wndGridColor1.m_hWnd, dlg.GetDlgItem(IDC_GRID_COLOR1)->GetSafeHwnd());
    EXPECT_EQ("Show progam size in", ItemText(&dlg, IDC_SIZE_TYPE_LABEL));
    EXPECT_EQ("General", ItemText(&dlg, IDC_OPTIONS_GENERAL));
    EXPECT_EQ("View", ItemText(&dlg, IDC_OPTIONS_VIEW));
    EXPECT_EQ("&Enable auto refresh", ItemText(&dlg, IDC_AUTO_REFRESH));
    EXPECT_EQ("&Hide invalid entries", ItemText(&dlg, IDC_HIDE_INVALID));
    EXPECT_EQ("&Show color grid", ItemText(&dlg, IDC_SHOW_GRID));
    dlg.DestroyWindow();
}

TEST_F(DialogsTest, ConfirmedOptionsAreStoredMarkedAndSaved)
{
    SetOptionValues(1, 0, 2, 1, 0xF5EEEB, 0xFFFFFF);
    g_ListSize.Value = 42;
    COptionsDlg dlg;
    ASSERT_TRUE(dlg.Create(NULL));
    dlg.CheckDlgButton(IDC_AUTO_REFRESH, BST_UNCHECKED);
    dlg.CheckDlgButton(IDC_HIDE_INVALID, BST_CHECKED);
    dlg.m_wndSizeType.SetCurSel(1);
    // As the colour menu reports a pick to its button.
    dlg.m_wndGridColor2.SendMessage(CExtPopupColorMenuWnd::g_nMsgNotifyColorChangedFinally, RGB(1, 2, 3), 0);
    dlg.SendMessage(WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), (LPARAM)::GetDlgItem(dlg.m_hWnd, IDOK));

    EXPECT_FALSE(dlg.IsWindowVisible());
    EXPECT_EQ(0, g_AutoRefresh.Value);
    EXPECT_TRUE(g_AutoRefresh.Changed);
    EXPECT_EQ(1, g_Hide.Value);
    EXPECT_TRUE(g_Hide.Changed);
    EXPECT_EQ(1, g_SizeType.Value);
    EXPECT_TRUE(g_SizeType.Changed);
    EXPECT_EQ((int)RGB(1, 2, 3), g_GridColor2.Value);
    EXPECT_TRUE(g_GridColor2.Changed);
    EXPECT_FALSE(g_GridColor1.Changed);
    EXPECT_FALSE(g_GridEnabled.Changed);

    // All ten were written, in their stored forms.
    EXPECT_EQ("FALSE", Stored("AutoRefresh"));
    EXPECT_EQ("TRUE", Stored("Hide"));
    EXPECT_EQ("TRUE", Stored("GridEnabled"));
    EXPECT_EQ("235,238,245", Stored("GridColor1"));
    EXPECT_EQ("1,2,3", Stored("GridColor2"));
    EXPECT_EQ(1u, TestApp().GetProfileInt("Dialogs Test", "SizeType", 99));
    EXPECT_EQ(42u, TestApp().GetProfileInt("Dialogs Test", "ListSize", 99));

    // And they load back as confirmed.
    SetOptionValues(7, 7, 7, 7, 7, 7);
    LoadSettings();
    EXPECT_EQ(0, g_AutoRefresh.Value);
    EXPECT_EQ(1, g_Hide.Value);
    EXPECT_EQ(1, g_SizeType.Value);
    EXPECT_EQ(1, g_GridEnabled.Value);
    EXPECT_EQ(0xF5EEEB, g_GridColor1.Value);
    EXPECT_EQ((int)RGB(1, 2, 3), g_GridColor2.Value);
    dlg.DestroyWindow();
}

TEST_F(DialogsTest, ConfirmingUnchangedOptionsSavesAllAndMarksNone)
{
    SetOptionValues(0, 1, 0, 0, RGB(9, 8, 7), RGB(6, 5, 4));
    COptionsDlg dlg;
    ASSERT_TRUE(dlg.Create(NULL));
    dlg.SendMessage(WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), (LPARAM)::GetDlgItem(dlg.m_hWnd, IDOK));
    for (OptionValue* p : g_allOptions) EXPECT_FALSE(p->Changed) << p->Name;
    const char* texts[] = {"GridColor1", "GridColor2", "GridEnabled", "AutoRefresh", "Hide", "ShowCats", "ShowDetails"};
    for (const char* name : texts) EXPECT_NE("<none>", Stored(name)) << name;
    const char* ints[] = {"SizeType", "CatsSize", "ListSize"};
    for (const char* name : ints) EXPECT_NE(12345u, TestApp().GetProfileInt("Dialogs Test", name, 12345)) << name;
    EXPECT_EQ("9,8,7", Stored("GridColor1"));
    EXPECT_EQ("FALSE", Stored("AutoRefresh"));
    EXPECT_EQ("TRUE", Stored("Hide"));
    dlg.DestroyWindow();
}

TEST_F(DialogsTest, CancelledOptionsTouchNothing)
{
    SetOptionValues(1, 0, 2, 1, 0xF5EEEB, 0xFFFFFF);
    COptionsDlg dlg;
    ASSERT_TRUE(dlg.Create(NULL));
    dlg.CheckDlgButton(IDC_AUTO_REFRESH, BST_UNCHECKED);
    dlg.m_wndSizeType.SetCurSel(0);
    dlg.SendMessage(WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), (LPARAM)::GetDlgItem(dlg.m_hWnd, IDCANCEL));
    EXPECT_EQ(1, g_AutoRefresh.Value);
    EXPECT_EQ(2, g_SizeType.Value);
    for (OptionValue* p : g_allOptions) EXPECT_FALSE(p->Changed) << p->Name;
    EXPECT_EQ("<none>", Stored("AutoRefresh"));
    dlg.DestroyWindow();
}

// Chooses the default entry of the colour menu that a colour button has open.
void CALLBACK ChooseDefaultEntry(HWND, UINT, UINT_PTR nId, DWORD)
{
    CExtPopupColorMenuWnd* pMenu = DYNAMIC_DOWNCAST(CExtPopupColorMenuWnd, CExtPopupMenuWnd::GetTrackingMenu());
    if (pMenu == nullptr || pMenu->GetSafeHwnd() == NULL)
        return;
    ::KillTimer(NULL, nId);
    bool bNoEat = false;
    pMenu->SetHoverIndex(CExtPopupColorMenuWnd::IDX_DEFAULT_COLOR);
    pMenu->OnKeyDown(VK_RETURN, 1, 0, bNoEat);
}

TEST_F(DialogsTest, TheColourButtonsDefaultEntriesAreSavedOnConfirming)
{
    SetOptionValues(1, 0, 2, 1, RGB(1, 1, 1), RGB(2, 2, 2));
    COptionsDlg dlg;
    ASSERT_TRUE(dlg.Create(NULL));
    // A preview alone (the menu closed without a choice) changes nothing.
    dlg.m_wndGridColor2.SendMessage(CExtPopupColorMenuWnd::g_nMsgNotifyColorChanged, RGB(9, 9, 9), 0);
    for (CExtColorButton* pBtn : {&dlg.m_wndGridColor1, &dlg.m_wndGridColor2})
    {
        ::SetTimer(NULL, 0, 10, ChooseDefaultEntry);
        EXPECT_TRUE(pBtn->OnTrackPopup(false));
    }
    EXPECT_EQ(RGB(1, 1, 1), (COLORREF)g_GridColor1.Value);  // nothing stored before OK
    dlg.SendMessage(WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), (LPARAM)::GetDlgItem(dlg.m_hWnd, IDOK));
    EXPECT_EQ(0xF5EEEB, g_GridColor1.Value);
    EXPECT_EQ(0xFFFFFF, g_GridColor2.Value);
    EXPECT_TRUE(g_GridColor1.Changed);
    EXPECT_TRUE(g_GridColor2.Changed);
    EXPECT_EQ("235,238,245", Stored("GridColor1"));
    EXPECT_EQ("255,255,255", Stored("GridColor2"));
    dlg.DestroyWindow();
}

// The dialog itself tells nobody: after IDOK its caller asks the mediator, which sends
// the one options message to the right pane.
TEST_F(DialogsTest, TheOptionsMessageGoesOutThroughTheMediatorAfterConfirming)
{
    CWnd pane;
    ASSERT_TRUE(pane.CreateEx(0, AfxRegisterWndClass(0), "right pane", WS_POPUP, 0, 0, 10, 10, NULL, NULL));
    CUiManager* pUi = CUiManager::GetInstance();
    HWND hOldRight = pUi->m_hWndRightPane;
    pUi->m_hWndRightPane = pane.m_hWnd;
    testsupport::MsgRecorder rec;
    rec.Only({g_nMsgOptionsChanged});
    rec.Watch(pane.m_hWnd);
    rec.HookThread();

    COptionsDlg dlg;
    ASSERT_TRUE(dlg.Create(NULL));
    dlg.CheckDlgButton(IDC_SHOW_GRID, BST_UNCHECKED);
    dlg.SendMessage(WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), (LPARAM)::GetDlgItem(dlg.m_hWnd, IDOK));
    testsupport::PumpPending();
    EXPECT_EQ(0u, rec.Count(g_nMsgOptionsChanged));
    EXPECT_TRUE(g_GridEnabled.Changed);

    pUi->OptionsChanged();
    testsupport::PumpPending();
    EXPECT_TRUE(rec.Matches({{g_nMsgOptionsChanged, testsupport::kSent | testsupport::kWParam |
                                                        testsupport::kLParam | testsupport::kHwnd,
                              0, 0, pane.m_hWnd}}));
    rec.Unhook();
    pUi->m_hWndRightPane = hOldRight;
    dlg.DestroyWindow();
    pane.DestroyWindow();
}

// ---- Add to group ------------------------------------------------------------------------

class AddToGroupTest : public DialogsTest
{
protected:
    void SetUp() override
    {
        DialogsTest::SetUp();
        ClearGroups();
        m_program.DisplayName = "Kestrel Photo Studio 9";
    }
    void TearDown() override
    {
        ClearGroups();
        DialogsTest::TearDown();
    }
    static void ClearGroups()
    {
        CGroupManager* pGroups = CGroupManager::GetInstance();
        pGroups->m_pCurrentGroup = NULL;
        while (pGroups->m_Groups.size() > 1) pGroups->DeleteGroup(pGroups->m_Groups.back());
    }
    static GroupEntry* NewGroup(const char* name)
    {
        GroupEntry* pGroup = CGroupManager::GetInstance()->CreateGroup();
        pGroup->Name = name;
        return pGroup;
    }
    static void Confirm(CDialog& dlg)
    {
        dlg.SendMessage(WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), (LPARAM)::GetDlgItem(dlg.m_hWnd, IDOK));
    }

    ProgramEntry m_program;
};

TEST_F(AddToGroupTest, ListsTheUserGroupsAndOffersTheProgramName)
{
    GroupEntry* pGraphics = NewGroup("Graphics");
    GroupEntry* pTools = NewGroup("Tools");
    CDlgGroup dlg(NULL, &m_program);
    ASSERT_TRUE(dlg.Create(NULL));
    ASSERT_EQ(2, dlg.m_wndGroups.GetCount());
    CString text;
    dlg.m_wndGroups.GetText(0, text);
    EXPECT_STREQ("Graphics", text);
    dlg.m_wndGroups.GetText(1, text);
    EXPECT_STREQ("Tools", text);
    EXPECT_EQ((void*)pGraphics, dlg.m_wndGroups.GetItem(0)->pUserData);
    EXPECT_EQ((void*)pTools, dlg.m_wndGroups.GetItem(1)->pUserData);
    EXPECT_EQ(0, dlg.m_wndGroups.GetCurSel());
    EXPECT_EQ(::GetSystemMetrics(SM_CXSMICON) + 4, dlg.m_wndGroups.GetItemHeight(0));
    EXPECT_EQ("Kestrel Photo Studio 9", ItemText(&dlg, IDC_KEYWORD));
    EXPECT_TRUE(dlg.m_wndKeyword.m_bHoverFrame);
    EXPECT_EQ("Keyword:", ItemText(&dlg, IDC_KEYWORD_LABEL));
    EXPECT_EQ("Select a group:", ItemText(&dlg, IDC_SELECT_GROUP_LABEL));
    dlg.DestroyWindow();
}

TEST_F(AddToGroupTest, TheShortenedKeywordGoesToTheChosenGroupAndItsFile)
{
    GroupEntry* pGraphics = NewGroup("Graphics");
    GroupEntry* pTools = NewGroup("Tools");
    pTools->AddKeyword("zip");
    CDlgGroup dlg(NULL, &m_program);
    ASSERT_TRUE(dlg.Create(NULL));
    dlg.SetDlgItemText(IDC_KEYWORD, "Kestrel Photo");
    dlg.m_wndGroups.SetCurSel(1);
    Confirm(dlg);

    EXPECT_FALSE(dlg.IsWindowVisible());
    EXPECT_TRUE(pGraphics->Keywords.empty());
    ASSERT_EQ(2u, pTools->Keywords.size());
    EXPECT_EQ("zip", pTools->Keywords[0]);
    EXPECT_EQ("Kestrel Photo", pTools->Keywords[1]);

    // Saved with the groups, it is in the file and comes back from it.
    char szDir[MAX_PATH] = "";
    ::GetTempPathA(MAX_PATH, szDir);
    std::string path = std::string(szDir) + "add_to_group_test.xml";
    ::DeleteFileA(path.c_str());
    ASSERT_TRUE(CGroupManager::GetInstance()->Save(path.c_str()));
    ClearGroups();
    ASSERT_TRUE(CGroupManager::GetInstance()->Load(path.c_str()));
    ::DeleteFileA(path.c_str());
    std::vector<GroupEntry*>& groups = CGroupManager::GetInstance()->m_Groups;
    ASSERT_EQ(3u, groups.size());
    EXPECT_EQ("Tools", groups[2]->Name);
    ASSERT_EQ(2u, groups[2]->Keywords.size());
    EXPECT_EQ("Kestrel Photo", groups[2]->Keywords[1]);
    dlg.DestroyWindow();
}

TEST_F(AddToGroupTest, NothingIsAddedWithoutAGroupOrAProgram)
{
    // Only the built-in group: the list is empty.
    {
        CDlgGroup dlg(NULL, &m_program);
        ASSERT_TRUE(dlg.Create(NULL));
        EXPECT_EQ(0, dlg.m_wndGroups.GetCount());
        Confirm(dlg);
        EXPECT_TRUE(CGroupManager::GetInstance()->m_Groups[0]->Keywords.empty());
        dlg.DestroyWindow();
    }
    // Opened without a program (none was the command's target).
    GroupEntry* pGroup = NewGroup("Games");
    {
        CDlgGroup dlg;
        ASSERT_TRUE(dlg.Create(NULL));
        Confirm(dlg);
        EXPECT_TRUE(pGroup->Keywords.empty());
        dlg.DestroyWindow();
    }
    // The chosen group was deleted meanwhile.
    {
        CDlgGroup dlg(NULL, &m_program);
        ASSERT_TRUE(dlg.Create(NULL));
        CGroupManager::GetInstance()->DeleteGroup(pGroup);
        Confirm(dlg);
        EXPECT_EQ(1u, CGroupManager::GetInstance()->m_Groups.size());
        dlg.DestroyWindow();
    }
    // Cancel adds nothing.
    GroupEntry* pOther = NewGroup("Office");
    {
        CDlgGroup dlg(NULL, &m_program);
        ASSERT_TRUE(dlg.Create(NULL));
        dlg.SendMessage(WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), (LPARAM)::GetDlgItem(dlg.m_hWnd, IDCANCEL));
        EXPECT_TRUE(pOther->Keywords.empty());
        dlg.DestroyWindow();
    }
    // An emptied keyword would match every program: OK adds nothing.
    {
        CDlgGroup dlg(NULL, &m_program);
        ASSERT_TRUE(dlg.Create(NULL));
        dlg.SetDlgItemText(IDC_KEYWORD, "");
        Confirm(dlg);
        EXPECT_TRUE(pOther->Keywords.empty());
        dlg.DestroyWindow();
    }
}

// ---- About --------------------------------------------------------------------------------

LOGFONT FontOf(CWnd* pDlg, int nId)
{
    LOGFONT lf = {};
    HFONT hFont = (HFONT)::SendDlgItemMessageA(pDlg->m_hWnd, nId, WM_GETFONT, 0, 0);
    if (hFont != NULL) ::GetObjectA(hFont, sizeof(lf), &lf);
    return lf;
}

TEST(AboutDlgTest, ShowsTheProductVersionNoticeAndLinks)
{
    CAboutDlg dlg;
    ASSERT_TRUE(dlg.Create(NULL));
    char szTitle[64] = "";
    ::GetWindowTextA(dlg.m_hWnd, szTitle, sizeof(szTitle));
    EXPECT_STREQ("About Purgelet", szTitle);
    EXPECT_EQ("Nimbo Purgelet 1.1", ItemText(&dlg, IDC_ABOUT_TITLE));
    EXPECT_EQ("Copyright (C) 2026 Nimbo Software.\nAll rights reserved.", ItemText(&dlg, IDC_ABOUT_NOTICE));
    EXPECT_EQ("Web site:", ItemText(&dlg, IDC_WEB_LABEL));
    EXPECT_EQ("Support:", ItemText(&dlg, IDC_SUPPORT_LABEL));
    EXPECT_EQ("Learn more about Nimbo Purgelet", ItemText(&dlg, IDC_LINK_WEB));
    EXPECT_EQ("Contact us if you have any questions", ItemText(&dlg, IDC_LINK_SUPPORT));
    EXPECT_EQ("Donate", ItemText(&dlg, IDC_LINK_DONATE));
    EXPECT_EQ("OK", ItemText(&dlg, IDOK));

    // The links open their own addresses: the product page twice, support by mail; the
    // group box round them is flat and OK has the focus.
    struct Link { CExtHyperLinkButton* link; const char* url; } links[] = {
        {&dlg.m_wndLinkWeb, "https://purgelet.example/"},
        {&dlg.m_wndLinkSupport, "mailto:support@purgelet.example"},
        {&dlg.m_wndLinkDonate, "https://purgelet.example/"},
    };
    for (const Link& l : links) {
        EXPECT_STREQ(l.url, l.link->m_strURL);
        EXPECT_EQ(CExtHyperLinkButton::LINK_SHOW_VISITED, l.link->m_nLinkFlags) << l.url;
    }
    EXPECT_EQ(CExtGroupBox::STYLE_FLAT, dlg.m_wndLinksBox.m_nFrameStyle);
    EXPECT_EQ(dlg.m_wndOK.m_hWnd, ::GetFocus());
    dlg.DestroyWindow();
}

TEST(AboutDlgTest, TheTitleIsLargerAndBoldAndTheDonateLinkBold)
{
    CAboutDlg dlg;
    ASSERT_TRUE(dlg.Create(NULL));
    LOGFONT lfDialog = {};
    ::GetObjectA((HFONT)dlg.GetFont()->GetSafeHandle(), sizeof(lfDialog), &lfDialog);
    ASSERT_LT(lfDialog.lfHeight, 0);  // a template font is given in points: a negative height

    LOGFONT lfTitle = FontOf(&dlg, IDC_ABOUT_TITLE);
    EXPECT_EQ(lfDialog.lfHeight - 4, lfTitle.lfHeight);
    EXPECT_EQ(FW_BOLD, lfTitle.lfWeight);
    EXPECT_STREQ(lfDialog.lfFaceName, lfTitle.lfFaceName);

    LOGFONT lfDonate = FontOf(&dlg, IDC_LINK_DONATE);
    EXPECT_EQ(lfDialog.lfHeight, lfDonate.lfHeight);
    EXPECT_EQ(FW_BOLD, lfDonate.lfWeight);

    LOGFONT lfWeb = FontOf(&dlg, IDC_LINK_WEB);
    EXPECT_EQ(lfDialog.lfWeight, lfWeb.lfWeight);
    dlg.DestroyWindow();
}

}  // namespace
