// Command routing: a dialog's commands go to the dialog, then its parent window, then
// the application; a command its update handler disables is refused; update handlers
// with and without disabling commands that have no handler (menu, control and test
// forms); reflection of control notifications to the control's own object, with the
// _EX forms letting the parent's handler run too.
#include <gtest/gtest.h>
#include "framework_test_app.h"
#include "window_test_ids.h"
#include "support/msg_recorder.h"

using namespace testsupport;

namespace {

std::vector<std::string> g_log;

LPCTSTR PopupClass() { return AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursor(NULL, IDC_ARROW)); }

class CRouteParent : public CWnd {
public:
    afx_msg void OnParentOnly() { g_log.push_back("parent:command"); }
    afx_msg void OnRefresh() { g_log.push_back("parent:refresh"); }
    afx_msg void OnUpdateContinue(CCmdUI* pCmdUI) {
        g_log.push_back("parent:update");
        pCmdUI->ContinueRouting();
    }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CRouteParent, CWnd)
    ON_COMMAND(ID_WT_PARENTONLY, &CRouteParent::OnParentOnly)
    ON_COMMAND(ID_WT_REFRESH, &CRouteParent::OnRefresh)
    ON_UPDATE_COMMAND_UI(ID_WT_CONTINUE, &CRouteParent::OnUpdateContinue)
END_MESSAGE_MAP()

class CRouteDlg : public CDialog {
public:
    CRouteDlg() : CDialog(IDD_WT_PLAIN) {}
    bool disableAction = false;
    afx_msg void OnRefresh() { g_log.push_back("dialog:refresh"); }
    afx_msg void OnDlgOnly() { g_log.push_back("dialog:command"); }
    afx_msg void OnDisabled() { g_log.push_back("dialog:disabled ran"); }
    afx_msg void OnUpdateDisabled(CCmdUI* pCmdUI) { pCmdUI->Enable(FALSE); }
    afx_msg void OnUpdateContinue(CCmdUI* pCmdUI) {
        g_log.push_back("dialog:update");
        pCmdUI->ContinueRouting();
    }
    afx_msg void OnAction() { g_log.push_back("dialog:clicked"); }
    afx_msg void OnUpdateAction(CCmdUI* pCmdUI) {
        if (disableAction) pCmdUI->Enable(FALSE);
        else pCmdUI->ContinueRouting();
    }
    afx_msg BOOL OnToolTipText(UINT nID, NMHDR* pNMHDR, LRESULT* pResult) {
        g_log.push_back("dialog:tip " + std::to_string(nID) + " " +
                        std::to_string(pNMHDR->idFrom == (UINT_PTR)::GetDlgItem(m_hWnd, IDC_WT_ACTION)));
        *pResult = 0;
        return TRUE;
    }
    afx_msg void OnActionNotify(NMHDR* pNMHDR, LRESULT* pResult) {
        g_log.push_back("dialog:notify " + std::to_string((int)pNMHDR->code));
        *pResult = 11;
    }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CRouteDlg, CDialog)
    ON_COMMAND(ID_WT_REFRESH, &CRouteDlg::OnRefresh)
    ON_COMMAND(ID_WT_DLGONLY, &CRouteDlg::OnDlgOnly)
    ON_COMMAND(ID_WT_DISABLED, &CRouteDlg::OnDisabled)
    ON_UPDATE_COMMAND_UI(ID_WT_DISABLED, &CRouteDlg::OnUpdateDisabled)
    ON_UPDATE_COMMAND_UI(ID_WT_CONTINUE, &CRouteDlg::OnUpdateContinue)
    ON_BN_CLICKED(IDC_WT_ACTION, &CRouteDlg::OnAction)
    ON_UPDATE_COMMAND_UI(IDC_WT_ACTION, &CRouteDlg::OnUpdateAction)
    ON_NOTIFY(NM_CLICK, IDC_WT_ACTION, &CRouteDlg::OnActionNotify)
    ON_NOTIFY_EX_RANGE(TTN_NEEDTEXTA, 0, 0xFFFF, &CRouteDlg::OnToolTipText)
END_MESSAGE_MAP()

// A control that handles its own notifications (plain reflection: the parent never sees
// them).
class CReflectButton : public CWnd {
public:
    HBRUSH brush = (HBRUSH)GetStockObject(GRAY_BRUSH);
    afx_msg void OnClicked() { g_log.push_back("child:clicked"); }
    afx_msg void OnClickNotify(NMHDR*, LRESULT* pResult) {
        g_log.push_back("child:notify");
        *pResult = 22;
    }
    afx_msg HBRUSH CtlColor(CDC*, UINT nCtlColor) {
        g_log.push_back("child:ctlcolor " + std::to_string(nCtlColor));
        return brush;
    }
    afx_msg void DrawItem(LPDRAWITEMSTRUCT) { g_log.push_back("child:drawitem"); }
    afx_msg void MeasureItem(LPMEASUREITEMSTRUCT p) {
        g_log.push_back("child:measureitem");
        p->itemHeight = 33;
    }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CReflectButton, CWnd)
    ON_CONTROL_REFLECT(BN_CLICKED, &CReflectButton::OnClicked)
    ON_NOTIFY_REFLECT(NM_CLICK, &CReflectButton::OnClickNotify)
    ON_WM_CTLCOLOR_REFLECT()
    ON_WM_DRAWITEM_REFLECT()
    ON_WM_MEASUREITEM_REFLECT()
END_MESSAGE_MAP()

// The _EX forms: the answer decides whether the parent gets the notification too.
class CReflectExButton : public CWnd {
public:
    BOOL handled = FALSE;
    afx_msg BOOL OnClicked() {
        g_log.push_back("child:clicked ex");
        return handled;
    }
    afx_msg BOOL OnClickNotify(NMHDR*, LRESULT*) {
        g_log.push_back("child:notify ex");
        return handled;
    }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CReflectExButton, CWnd)
    ON_CONTROL_REFLECT_EX(BN_CLICKED, &CReflectExButton::OnClicked)
    ON_NOTIFY_REFLECT_EX(NM_CLICK, &CReflectExButton::OnClickNotify)
END_MESSAGE_MAP()

// A control that keeps its own command state up to date.
class CSelfUpdatingButton : public CWnd {
public:
    afx_msg void OnUpdateSelf(CCmdUI* pCmdUI) {
        g_log.push_back("child:update");
        pCmdUI->SetText("Updated");
        pCmdUI->Enable(FALSE);
    }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CSelfUpdatingButton, CWnd)
    ON_UPDATE_COMMAND_UI_REFLECT(&CSelfUpdatingButton::OnUpdateSelf)
END_MESSAGE_MAP()

class RoutingTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_log.clear();
        TestApp().m_commands.clear();
        TestApp().m_bAppCommandEnabled = TRUE;
        ASSERT_TRUE(parent.CreateEx(0, PopupClass(), "parent", WS_POPUP, CRect(0, 0, 300, 200), NULL, 0));
        ASSERT_TRUE(dlg.Create(IDD_WT_PLAIN, &parent));
        ASSERT_EQ(&parent, dlg.GetParent());
    }
    void TearDown() override {
        dlg.DestroyWindow();
        parent.DestroyWindow();
    }
    void Command(UINT id) { dlg.SendMessage(WM_COMMAND, MAKEWPARAM(id, 0), 0); }
    LRESULT NotifyFromAction(UINT code) {
        NMHDR nm;
        nm.hwndFrom = ::GetDlgItem(dlg.m_hWnd, IDC_WT_ACTION);
        nm.idFrom = IDC_WT_ACTION;
        nm.code = code;
        return dlg.SendMessage(WM_NOTIFY, IDC_WT_ACTION, (LPARAM)&nm);
    }
    CRouteParent parent;
    CRouteDlg dlg;
};

}  // namespace

TEST_F(RoutingTest, CommandsGoToTheDialogThenItsParentThenTheApplication) {
    Command(ID_WT_REFRESH);        // the dialog has it: the parent's handler is not asked
    Command(ID_WT_PARENTONLY);     // only the parent has it
    Command(IDC_APP_FIRST + 3);    // only the application has it
    Command(ID_WT_NOHANDLER);      // nobody: dropped
    EXPECT_EQ((std::vector<std::string>{"dialog:refresh", "parent:command"}), g_log);
    EXPECT_EQ(std::vector<UINT>{IDC_APP_FIRST + 3}, TestApp().m_commands);

    // The probing order shows in update handlers that pass the question on.
    g_log.clear();
    CTestCmdUI state;
    state.m_nID = ID_WT_CONTINUE;
    EXPECT_FALSE(dlg.OnCmdMsg(ID_WT_CONTINUE, (int)CN_UPDATE_COMMAND_UI, &state, NULL));
    EXPECT_EQ((std::vector<std::string>{"dialog:update", "parent:update"}), g_log);

    // Notifications and ids below the command range stay with the dialog.
    g_log.clear();
    AFX_CMDHANDLERINFO info;
    EXPECT_FALSE(dlg.OnCmdMsg(ID_WT_PARENTONLY, MAKELONG(NM_CLICK, WM_NOTIFY), NULL, &info));
}

TEST_F(RoutingTest, ACommandItsUpdateHandlerDisablesIsRefused) {
    Command(ID_WT_DISABLED);
    EXPECT_TRUE(g_log.empty());
    TestApp().m_bAppCommandEnabled = FALSE;
    Command(IDC_APP_FIRST);
    EXPECT_TRUE(TestApp().m_commands.empty());
    TestApp().m_bAppCommandEnabled = TRUE;
    Command(IDC_APP_FIRST);
    EXPECT_EQ(std::vector<UINT>{IDC_APP_FIRST}, TestApp().m_commands);
    // An accelerator's command (code 1) is checked the same way.
    dlg.SendMessage(WM_COMMAND, MAKEWPARAM(ID_WT_DISABLED, 1), 0);
    EXPECT_TRUE(g_log.empty());
    dlg.SendMessage(WM_COMMAND, MAKEWPARAM(ID_WT_DLGONLY, 1), 0);
    EXPECT_EQ(std::vector<std::string>{"dialog:command"}, g_log);
}

TEST_F(RoutingTest, UpdateHandlersWithAndWithoutDisablingUnhandledCommands) {
    struct Case {
        UINT id;
        BOOL disableIfNoHandler;
        BOOL expectEnabled;
        BOOL expectHandled;
    } cases[] = {
        {ID_WT_NOHANDLER, FALSE, TRUE, FALSE},  {ID_WT_NOHANDLER, TRUE, FALSE, FALSE},
        {ID_WT_DLGONLY, TRUE, TRUE, FALSE},     {ID_WT_PARENTONLY, TRUE, TRUE, FALSE},
        {IDC_APP_FIRST + 1, TRUE, TRUE, TRUE},  {ID_WT_DISABLED, FALSE, FALSE, TRUE},
    };
    for (const Case& c : cases) {
        CTestCmdUI state;
        state.m_nID = c.id;
        EXPECT_EQ(c.expectHandled, state.DoUpdate(&dlg, c.disableIfNoHandler)) << std::hex << c.id;
        EXPECT_EQ(c.expectEnabled, state.m_bEnabled) << std::hex << c.id << " " << c.disableIfNoHandler;
    }

    // The menu form greys items by position.
    CMenu menu;
    ASSERT_TRUE(menu.CreatePopupMenu());
    menu.AppendMenu(MF_STRING, ID_WT_DLGONLY, "Handled");
    menu.AppendMenu(MF_STRING, ID_WT_NOHANDLER, "Unhandled");
    menu.AppendMenu(MF_SEPARATOR);
    menu.AppendMenu(MF_STRING, ID_WT_DISABLED, "Disabled");
    // An item greyed earlier comes back when its command has a handler again.
    ::EnableMenuItem(menu.m_hMenu, 0, MF_BYPOSITION | MF_GRAYED);
    CCmdUI ui;
    ui.m_pMenu = &menu;
    ui.m_nIndexMax = menu.GetMenuItemCount();
    for (ui.m_nIndex = 0; ui.m_nIndex < ui.m_nIndexMax; ui.m_nIndex++) {
        ui.m_nID = menu.GetMenuItemID(ui.m_nIndex);
        ui.DoUpdate(&dlg, TRUE);
    }
    EXPECT_FALSE(menu.GetMenuState(0, MF_BYPOSITION) & MF_GRAYED);
    EXPECT_TRUE(menu.GetMenuState(1, MF_BYPOSITION) & MF_GRAYED);
    EXPECT_TRUE(menu.GetMenuState(3, MF_BYPOSITION) & MF_GRAYED);

    // The control form: UpdateDialogControls asks for every child of the dialog.
    dlg.disableAction = true;
    dlg.UpdateDialogControls(&dlg, TRUE);
    EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(dlg.m_hWnd, IDC_WT_ACTION)));
    EXPECT_TRUE(::IsWindowEnabled(::GetDlgItem(dlg.m_hWnd, IDOK)));
    dlg.disableAction = false;
    ::EnableWindow(::GetDlgItem(dlg.m_hWnd, IDC_WT_ACTION), TRUE);
    dlg.UpdateDialogControls(&dlg, TRUE);
    EXPECT_TRUE(::IsWindowEnabled(::GetDlgItem(dlg.m_hWnd, IDC_WT_ACTION)));

    // A control object that updates itself is asked first, and alone.
    CSelfUpdatingButton self;
    ASSERT_TRUE(self.SubclassDlgItem(IDC_WT_ACTION, &dlg));
    g_log.clear();
    dlg.UpdateDialogControls(&dlg, TRUE);
    EXPECT_EQ(std::vector<std::string>{"child:update"}, g_log);
    EXPECT_FALSE(self.IsWindowEnabled());
    CString text;
    self.GetWindowText(text);
    EXPECT_EQ(CString("Updated"), text);
    self.UnsubclassWindow();
}

TEST_F(RoutingTest, ReflectedNotificationsReachTheChildFirst) {
    // Without an object on the control the dialog handles it.
    ::SendMessageA(::GetDlgItem(dlg.m_hWnd, IDC_WT_ACTION), BM_CLICK, 0, 0);
    EXPECT_EQ(std::vector<std::string>{"dialog:clicked"}, g_log);
    EXPECT_EQ(11, NotifyFromAction(NM_CLICK));

    // Plain reflection: the child takes it and the dialog never sees it.
    {
        CReflectButton button;
        ASSERT_TRUE(button.SubclassDlgItem(IDC_WT_ACTION, &dlg));
        g_log.clear();
        ::SendMessageA(button.m_hWnd, BM_CLICK, 0, 0);
        EXPECT_EQ(22, NotifyFromAction(NM_CLICK));
        EXPECT_EQ((std::vector<std::string>{"child:clicked", "child:notify"}), g_log);

        // Colours, drawing and measuring of the control come back to it too.
        g_log.clear();
        HDC hdc = GetDC(dlg.m_hWnd);
        LRESULT brush = dlg.SendMessage(WM_CTLCOLORBTN, (WPARAM)hdc, (LPARAM)button.m_hWnd);
        ReleaseDC(dlg.m_hWnd, hdc);
        EXPECT_EQ((LRESULT)button.brush, brush);
        DRAWITEMSTRUCT dis = {};
        dis.CtlType = ODT_BUTTON;
        dis.CtlID = IDC_WT_ACTION;
        dis.hwndItem = button.m_hWnd;
        EXPECT_TRUE(dlg.SendMessage(WM_DRAWITEM, IDC_WT_ACTION, (LPARAM)&dis));
        // WM_MEASUREITEM has no window: the control is found by its id.
        MEASUREITEMSTRUCT mis = {};
        mis.CtlType = ODT_LISTBOX;
        mis.CtlID = IDC_WT_ACTION;
        dlg.SendMessage(WM_MEASUREITEM, IDC_WT_ACTION, (LPARAM)&mis);
        EXPECT_EQ(33u, mis.itemHeight);
        EXPECT_EQ((std::vector<std::string>{"child:ctlcolor " + std::to_string(CTLCOLOR_BTN), "child:drawitem",
                                            "child:measureitem"}),
                  g_log);

        // A control that answers no brush leaves its colours to the dialog.
        button.brush = NULL;
        g_log.clear();
        hdc = GetDC(dlg.m_hWnd);
        brush = dlg.SendMessage(WM_CTLCOLORBTN, (WPARAM)hdc, (LPARAM)button.m_hWnd);
        ReleaseDC(dlg.m_hWnd, hdc);
        EXPECT_EQ(std::vector<std::string>{"child:ctlcolor " + std::to_string(CTLCOLOR_BTN)}, g_log);
        EXPECT_NE(0, brush);
        button.UnsubclassWindow();
    }

    // _EX answering FALSE: the child first, then the parent's handler.
    CReflectExButton ex;
    ASSERT_TRUE(ex.SubclassDlgItem(IDC_WT_ACTION, &dlg));
    g_log.clear();
    ::SendMessageA(ex.m_hWnd, BM_CLICK, 0, 0);
    EXPECT_EQ(11, NotifyFromAction(NM_CLICK));
    EXPECT_EQ((std::vector<std::string>{"child:clicked ex", "dialog:clicked", "child:notify ex",
                                        "dialog:notify " + std::to_string((int)NM_CLICK)}),
              g_log);
    // _EX answering TRUE: the child alone.
    ex.handled = TRUE;
    g_log.clear();
    ::SendMessageA(ex.m_hWnd, BM_CLICK, 0, 0);
    NotifyFromAction(NM_CLICK);
    EXPECT_EQ((std::vector<std::string>{"child:clicked ex", "child:notify ex"}), g_log);
    ex.UnsubclassWindow();
}

TEST_F(RoutingTest, NotificationsTakeTheIdOfTheSendingWindow) {
    // A tooltip control asks for the text of a tool whose id is a window handle: the
    // request carries the control's own id (0), so a 0..0xFFFF range entry takes it.
    HWND hTip = CreateWindowExA(0, TOOLTIPS_CLASSA, NULL, WS_POPUP, 0, 0, 0, 0, dlg.m_hWnd, NULL,
                                GetModuleHandleA(NULL), NULL);
    ASSERT_TRUE(hTip != NULL);
    NMTTDISPINFOA info = {};
    info.hdr.hwndFrom = hTip;
    info.hdr.idFrom = (UINT_PTR)::GetDlgItem(dlg.m_hWnd, IDC_WT_ACTION);
    info.hdr.code = TTN_NEEDTEXTA;
    dlg.SendMessage(WM_NOTIFY, 0, (LPARAM)&info);
    EXPECT_EQ(std::vector<std::string>{"dialog:tip 0 1"}, g_log);
    DestroyWindow(hTip);

    // A control's notification names the control whatever idFrom says.
    g_log.clear();
    NMHDR nm;
    nm.hwndFrom = ::GetDlgItem(dlg.m_hWnd, IDC_WT_ACTION);
    nm.idFrom = 0x1234;
    nm.code = NM_CLICK;
    EXPECT_EQ(11, dlg.SendMessage(WM_NOTIFY, 0x1234, (LPARAM)&nm));
    EXPECT_EQ(std::vector<std::string>{"dialog:notify " + std::to_string((int)NM_CLICK)}, g_log);
}
