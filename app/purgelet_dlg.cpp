#include "app/purgelet_dlg.h"
#include "app/about_dlg.h"
#include "app/box_name_line.h"
#include "app/clipboard_text.h"
#include "app/dlg_group.h"
#include "app/groups_store.h"
#include "app/input_rule.h"
#include "app/options_dlg.h"
#include "app/purgelet_app.h"
#include "app/ui_manager.h"
#include "catalogue/groups.h"
#include "catalogue/options.h"
#include "catalogue/program_entry.h"
#include "framework/afxres.h"
#include "res/resource.h"
#include "toolkit/bars/chevron_button.h"
#include "toolkit/core/cmd_item.h"
#include "toolkit/core/cmd_manager.h"
#include <shellapi.h>

namespace {

const char* const kSupportPage = "https://purgelet.example/support/";
const char* const kRelayPage = "https://purgelet.example/tolvex-relay/";
const COLORREF kToolbarTransparent = RGB(192, 192, 192);
const int kStatusPaneMargin = 22;  // the status pane leaves room for the size grip

// The main toolbar's buttons in order (separators and the content-expand button left
// out): the command icons and toolbar texts that go with them.
struct ToolbarButtonLook
{
    UINT nIcon;
    const char* pszText;
};
const ToolbarButtonLook kToolbarLooks[] = {
    {IDI_UNINSTALL, "Uninstall"}, {IDI_REMOVE, "Remove"}, {IDI_REFRESH, "Refresh"},
    {IDI_OPTIONS, "Options"},     {IDI_HELP, "Help"},     {IDI_RELAY, "Tolvex Relay"},
};

}  // namespace

CString CPurgeletDlg::RemoveWarning(const std::string& strName)
{
    // The name stands on a line of its own.
    CString strText(
        "Warning: this command only removes selected program from the list of installed application!\r\n"
        "But it does not remove it from your hard disk.\r\n\r\n");
    strText += BoxNameLine(strName).c_str();
    strText += "\r\n\r\nAre you sure you want to remove this program from the list?";
    return strText;
}

CString CPurgeletDlg::RemovedEntryGone(const std::string& strName)
{
    CString strText("The entry of this program is no longer in the registry; another program removed it:\r\n\r\n");
    strText += BoxNameLine(strName).c_str();
    return strText;
}

CString CPurgeletDlg::RemovedEntryChanged(const std::string& strName)
{
    CString strText(
        "The entry of this program changed while you were asked; it no longer shows the program named, "
        "so nothing was removed:\r\n\r\n");
    strText += BoxNameLine(strName).c_str();
    return strText;
}

CString CPurgeletDlg::RemoveFailed(const std::string& strName, LONG nError)
{
    CString strText("The entry of this program could not be removed from the registry:\r\n\r\n");
    strText += BoxNameLine(strName).c_str();
    strText += "\r\n\r\n";
    // The system's own words for what failed, else its number.
    char* pszSystem = NULL;
    DWORD nLength = ::FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                         FORMAT_MESSAGE_IGNORE_INSERTS,
                                     NULL, (DWORD)nError, 0, (LPSTR)&pszSystem, 0, NULL);
    std::string strSystem = nLength != 0 && pszSystem != NULL ? std::string(pszSystem, nLength) : std::string();
    if (pszSystem != NULL) ::LocalFree(pszSystem);
    while (!strSystem.empty() && (strSystem.back() == '\r' || strSystem.back() == '\n' || strSystem.back() == ' '))
        strSystem.pop_back();
    if (strSystem.empty()) {
        char szNumber[48];
        wsprintfA(szNumber, "Error %ld.", nError);
        strSystem = szNumber;
    }
    strText += strSystem.c_str();
    return strText;
}

CExtBarContentExpandButton* CPurgeletDlg::CExtToolBar::CreateContentExpandButton() { return NULL; }

BEGIN_MESSAGE_MAP(CPurgeletDlg, CExtResizableDialog)
    ON_WM_SYSCOMMAND()
    ON_WM_CLOSE()
    ON_WM_PAINT()
    ON_WM_QUERYDRAGICON()
    ON_WM_SIZE()
    ON_WM_DESTROY()
    ON_WM_QUERYENDSESSION()
    ON_WM_ENDSESSION()
    ON_REGISTERED_MESSAGE(g_nMsgUpdateStatusBar, &CPurgeletDlg::OnUpdateStatusBar)
    ON_MESSAGE(WM_SETMESSAGESTRING, &CPurgeletDlg::OnSetMessageString)
    ON_REGISTERED_MESSAGE(g_nMsgCommandStatesChanged, &CPurgeletDlg::OnCommandStatesChanged)
    ON_REGISTERED_MESSAGE(g_nMsgStaysUp, &CPurgeletDlg::OnStaysUp)
    ON_COMMAND(ID_EDIT_COPY, &CPurgeletDlg::OnEditCopy)
    ON_COMMAND(ID_EDIT_COPY_APPLICATION, &CPurgeletDlg::OnEditCopyApplication)
    ON_COMMAND(ID_EDIT_COPY_PUBLISHER, &CPurgeletDlg::OnEditCopyPublisher)
    ON_COMMAND(ID_PROGRAM_UNINSTALL, &CPurgeletDlg::OnUninstall)
    ON_COMMAND(ID_PROGRAM_UNINSTALL_QUIET, &CPurgeletDlg::OnUninstallQuiet)
    ON_COMMAND(ID_PROGRAM_MODIFY, &CPurgeletDlg::OnModify)
    ON_COMMAND(ID_PROGRAM_REMOVE_ENTRY, &CPurgeletDlg::OnRemoveEntry)
    ON_COMMAND(ID_PROGRAM_ADD_TO_GROUP, &CPurgeletDlg::OnAddToGroup)
    ON_COMMAND(ID_PROGRAM_OPEN_FOLDER, &CPurgeletDlg::OnOpenFolder)
    ON_COMMAND(ID_PROGRAM_REGISTRY_ENTRY, &CPurgeletDlg::OnRegistryEntry)
    ON_COMMAND(ID_VIEW_REFRESH, &CPurgeletDlg::OnRefresh)
    ON_COMMAND(ID_VIEW_GROUPS, &CPurgeletDlg::OnViewGroups)
    ON_COMMAND(ID_VIEW_DETAILS, &CPurgeletDlg::OnViewDetails)
    ON_COMMAND(ID_VIEW_OPTIONS, &CPurgeletDlg::OnOptions)
    ON_COMMAND(ID_HELP, &CPurgeletDlg::OnHelp)
    ON_COMMAND(ID_CONTEXT_HELP, &CPurgeletDlg::OnHelp)
    ON_COMMAND(ID_APP_ABOUT, &CPurgeletDlg::OnAbout)
    ON_COMMAND(ID_TOLVEX_RELAY, &CPurgeletDlg::OnTolvexRelay)
    ON_UPDATE_COMMAND_UI(ID_APP_EXIT, &CPurgeletDlg::OnUpdateAlways)
    ON_UPDATE_COMMAND_UI(ID_EDIT_COPY, &CPurgeletDlg::OnUpdateListShown)
    ON_UPDATE_COMMAND_UI(ID_EDIT_COPY_APPLICATION, &CPurgeletDlg::OnUpdateListShown)
    ON_UPDATE_COMMAND_UI(ID_EDIT_COPY_PUBLISHER, &CPurgeletDlg::OnUpdateListShown)
    ON_UPDATE_COMMAND_UI(ID_PROGRAM_UNINSTALL, &CPurgeletDlg::OnUpdateUninstall)
    ON_UPDATE_COMMAND_UI(ID_PROGRAM_UNINSTALL_QUIET, &CPurgeletDlg::OnUpdateUninstallQuiet)
    ON_UPDATE_COMMAND_UI(ID_PROGRAM_MODIFY, &CPurgeletDlg::OnUpdateModify)
    ON_UPDATE_COMMAND_UI(ID_PROGRAM_REMOVE_ENTRY, &CPurgeletDlg::OnUpdateRemoveEntry)
    ON_UPDATE_COMMAND_UI(ID_PROGRAM_ADD_TO_GROUP, &CPurgeletDlg::OnUpdateAddToGroup)
    ON_UPDATE_COMMAND_UI(ID_PROGRAM_OPEN_FOLDER, &CPurgeletDlg::OnUpdateOpenFolder)
    ON_UPDATE_COMMAND_UI(ID_PROGRAM_REGISTRY_ENTRY, &CPurgeletDlg::OnUpdateListShown)
    ON_UPDATE_COMMAND_UI(ID_VIEW_REFRESH, &CPurgeletDlg::OnUpdateAlways)
    ON_UPDATE_COMMAND_UI(ID_VIEW_GROUPS, &CPurgeletDlg::OnUpdateViewGroups)
    ON_UPDATE_COMMAND_UI(ID_VIEW_DETAILS, &CPurgeletDlg::OnUpdateViewDetails)
    ON_UPDATE_COMMAND_UI(ID_VIEW_OPTIONS, &CPurgeletDlg::OnUpdateAlways)
    ON_UPDATE_COMMAND_UI(ID_HELP, &CPurgeletDlg::OnUpdateAlways)
    ON_UPDATE_COMMAND_UI(ID_CONTEXT_HELP, &CPurgeletDlg::OnUpdateAlways)
    ON_UPDATE_COMMAND_UI(ID_APP_ABOUT, &CPurgeletDlg::OnUpdateAlways)
    ON_UPDATE_COMMAND_UI(ID_TOLVEX_RELAY, &CPurgeletDlg::OnUpdateAlways)
END_MESSAGE_MAP()

CPurgeletDlg::CPurgeletDlg(CWnd* pParent)
    : CExtNCW<CExtResizableDialog>(IDD_PURGELET_DIALOG, pParent), m_hAccel(NULL), m_bCountsShown(false),
      m_bInitialised(false), m_bAppActive(false), m_bCloseAsked(false), m_hFocusBeforeMinimise(NULL)
{
    m_hIcon = ::LoadIconA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDR_MAINFRAME));
}

CPurgeletDlg::~CPurgeletDlg() {}

void CPurgeletDlg::DoDataExchange(CDataExchange* pDX)
{
    CExtNCW<CExtResizableDialog>::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_TOOLBAR, m_wndToolBar);
    DDX_Control(pDX, IDC_MENUBAR, m_wndMenuBar);
}

// ---- initialisation ----------------------------------------------------------------------

BOOL CPurgeletDlg::OnInitDialog()
{
    CExtNCW<CExtResizableDialog>::OnInitDialog();
    // The displays may have changed while no main window heard of it.
    CUiManager::GetInstance()->m_WorkAreas.DisplaysChanged();
    // A second start of the program finds this window by its mark and brings it up.
    MarkMainWindow(m_hWnd, true);
    AddAboutToSystemMenu();
    SendMessage(WM_SETICON, ICON_BIG, (LPARAM)m_hIcon);
    SendMessage(WM_SETICON, ICON_SMALL, (LPARAM)m_hIcon);
    AddAnchor(IDC_PAGE_PLACE, CSize(0, 0), CSize(100, 100));
    m_hAccel = ::LoadAcceleratorsA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDR_MAIN_ACCELERATORS));
    RegisterCommands();
    LoadSettings();
    if (!CreateToolBar()) return FALSE;
    if (!CreateStatusBar()) return FALSE;
    if (!m_wndMenuBar.LoadMenuBar(IDR_MAIN_MENU)) return FALSE;
    m_wndMenuBar.SetBarStyle(m_wndMenuBar.GetBarStyle() & ~CBRS_GRIPPER);
    RepositionAllBars();
    CreatePages();
    CUiManager::GetInstance()->RefreshPrograms(false);
    // The first focus is the program list's, not the first tab stop's (the groups tree):
    // every command of the window acts on the program the user selects there. The
    // first fill selects none; the list's focus rests on its first row, so that Down or
    // Space picks it. A tree taking the focus would also pick its first item for itself.
    m_pageUninstall.FocusProgramList();
    m_bInitialised = true;
    return FALSE;  // the focus is set
}

void CPurgeletDlg::AddAboutToSystemMenu()
{
    CString strAbout;
    if (!strAbout.LoadString(IDS_ABOUTBOX) || strAbout.IsEmpty()) return;
    CMenu* pSysMenu = GetSystemMenu(FALSE);
    if (pSysMenu == NULL) return;
    pSysMenu->AppendMenu(MF_SEPARATOR);
    pSysMenu->AppendMenu(MF_STRING, IDM_ABOUTBOX, strAbout);
}

void CPurgeletDlg::RegisterCommands()
{
    g_CommandManager->ProfileWndAdd(g_szPurgeletProfileName, m_hWnd);
    g_CommandManager->UpdateFromMenuResource(g_szPurgeletProfileName, IDR_MAIN_MENU, false, true);
    // The groups page's toolbar: its three commands are known before the page loads it.
    g_CommandManager->UpdateFromToolBarResource(g_szPurgeletProfileName, IDR_GROUPS_TOOLBAR, NULL, NULL, false,
                                                true, kToolbarTransparent);
}

bool CPurgeletDlg::CreateToolBar()
{
    if (!m_wndToolBar.LoadToolBar(IDR_MAIN_TOOLBAR, kToolbarTransparent)) return false;
    m_wndToolBar.SetBarStyle(m_wndToolBar.GetBarStyle() & ~CBRS_GRIPPER);

    size_t nLook = 0;
    int nCount = m_wndToolBar.GetButtonsCount();
    for (int i = 0; i < nCount && nLook < sizeof(kToolbarLooks) / sizeof(kToolbarLooks[0]); ++i) {
        CExtBarButton* pButton = m_wndToolBar.GetButton(i);
        if (pButton == NULL || pButton->IsSeparator() || pButton->IsKindOf(RUNTIME_CLASS(CExtBarContentExpandButton)))
            continue;
        const ToolbarButtonLook& look = kToolbarLooks[nLook++];
        UINT nCmdID = pButton->GetCmdID(false);
        HICON hIcon =
            (HICON)::LoadImageA(AfxGetResourceHandle(), MAKEINTRESOURCEA(look.nIcon), IMAGE_ICON, 24, 24, 0);
        // The command manager keeps an icon it takes; one it refuses is ours to free.
        if (hIcon != NULL && !g_CommandManager->CmdSetIconFromHICON(g_szPurgeletProfileName, nCmdID, hIcon, false))
            ::DestroyIcon(hIcon);
        CExtCmdItem* pCmd = g_CommandManager->CmdGetPtr(g_szPurgeletProfileName, nCmdID);
        if (pCmd == NULL) continue;
        pCmd->m_sToolbarText = look.pszText;
        if (nCmdID == ID_TOLVEX_RELAY) pCmd->m_sTipTool = "Tolvex Relay: our companion product on the web";
    }
    return true;
}

bool CPurgeletDlg::CreateStatusBar()
{
    if (!m_wndStatusBar.Create(this, WS_CHILD | WS_VISIBLE | CBRS_BOTTOM, AFX_IDW_STATUS_BAR)) return false;
    m_wndStatusBar.SendMessage(SB_SETMINHEIGHT, 20, 0);
    CRect rcClient;
    GetClientRect(&rcClient);
    m_wndStatusBar.AddPane(1, 0);
    m_wndStatusBar.SetPaneWidth(0, rcClient.Width() - kStatusPaneMargin);
    m_wndStatusBar.SetDrawPaneBorders(true);
    SendMessage(WM_SETMESSAGESTRING, AFX_IDS_IDLEMESSAGE, 0);
    return true;
}

// The bars take their rows from the top and bottom of the client area and the page
// place (control 1008) takes what they leave, so the page never lies under a bar: the
// toolbar's real height (its buttons with their texts) is not the height the template
// foresees, and the anchors only carry the template's offsets along.
void CPurgeletDlg::RepositionAllBars()
{
    RepositionBars(0, 0xFFFF, IDC_PAGE_PLACE);
    CWnd* pPlace = GetDlgItem(IDC_PAGE_PLACE);
    if (pPlace == NULL) return;
    // The anchors take the offsets of the new layout, so the next resize moves the
    // place and the page where the bars leave room for them.
    AddAnchor(IDC_PAGE_PLACE, CSize(0, 0), CSize(100, 100));
    if (m_pageUninstall.GetSafeHwnd() == NULL) return;
    CRect rcPlace;
    pPlace->GetWindowRect(&rcPlace);
    ScreenToClient(&rcPlace);
    AfxRepositionWindow(NULL, m_pageUninstall.GetSafeHwnd(), &rcPlace);  // only when it differs
    AddAnchor(m_pageUninstall.GetSafeHwnd(), CSize(0, 0), CSize(100, 100));
}

void CPurgeletDlg::CreatePages()
{
    CWnd* pPlace = GetDlgItem(IDC_PAGE_PLACE);
    CRect rcPlace(0, 0, 0, 0);
    if (pPlace != NULL) {
        pPlace->GetWindowRect(&rcPlace);
        ScreenToClient(&rcPlace);
    }
    m_pageUninstall.Create(this);
    m_pageUninstall.ShowWindow(SW_SHOW);
    m_pageUninstall.MoveWindow(&rcPlace);
    AddAnchor(m_pageUninstall.GetSafeHwnd(), CSize(0, 0), CSize(100, 100));
}

// ---- keys, activation, closing -----------------------------------------------------------

BOOL CPurgeletDlg::PreTranslateMessage(MSG* pMsg)
{
    // Esc does not close the main window; it closes through File > Exit or Close. The
    // menu bar still takes it to leave its keyboard selection.
    if (pMsg->message == WM_KEYDOWN && pMsg->wParam == VK_ESCAPE) {
        CExtControlBar::ChildBarsPreTranslateMessage(this, pMsg);
        return TRUE;
    }
    return CExtNCW<CExtResizableDialog>::PreTranslateMessage(pMsg);
}

void CPurgeletDlg::OnOK() {}

// Esc pressed in a page reaches the main dialog as IDCANCEL (the dialog manager sends a
// page's keys to its top-level dialog), so Cancel does nothing here and only a close
// request (File > Exit, the system menu's Close) ends the dialog.
void CPurgeletDlg::OnCancel() {}

// File > Exit, the system menu's Close and Alt+F4 all end here. Typing the group editor
// has not applied is not dropped unasked: the mediator asks, as before another group
// replaces it. A session's end does not come here: it stores what the close would and
// must not wait on a box (StoreUserState).
void CPurgeletDlg::OnClose()
{
    // A start made while the question below is up waits for the answer (OnStaysUp).
    m_bCloseAsked = true;
    const bool bSettled = CUiManager::GetInstance()->SettleGroupEditorTyping();
    m_bCloseAsked = false;
    if (!bSettled) return;
    // The window is going: a start made from now on must not take it for the running copy,
    // bring it up and end, leaving no copy once this one has ended. It waits for this copy
    // to end instead, and goes on as the one copy.
    MarkMainWindowClosing(m_hWnd, true);
    // A change another program kept from the groups file is stored now or said lost,
    // while the window is still there to own the box (the exit may wait seconds for a
    // file another program holds).
    SaveGroupsFileAtExit();
    EndDialog(IDCANCEL);
}

// A start asks before it brings this window up and ends.
LRESULT CPurgeletDlg::OnStaysUp(WPARAM, LPARAM) { return StaysUpAnswer(m_hWnd, m_bCloseAsked); }

LRESULT CPurgeletDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    // Whether the program list is on screen depends on the monitors' work areas.
    if (message == WM_DISPLAYCHANGE || message == WM_SETTINGCHANGE)
        CUiManager::GetInstance()->m_WorkAreas.DisplaysChanged();
    const UINT nSysCmd = message == WM_SYSCOMMAND ? (UINT)(wParam & 0xFFF0) : 0;
    if (nSysCmd == SC_MINIMIZE || (message == WM_SIZE && wParam == SIZE_MINIMIZED)) KeepFocusForRestore();
    // Shown again, the window hands the focus to itself and the dialog manager passes it
    // to its first control, the groups tree: the control the user left gets it instead.
    if (message == WM_SETFOCUS && GiveBackFocus()) return 0;
    // A click on the window while it is disabled (behind a box, while a command runs)
    // never comes as a click: the system drops it and only asks for the cursor, naming
    // the button. It was aimed at what the window showed, and goes the way of the input
    // the program drops.
    if (message == WM_SETCURSOR && LOWORD(lParam) == (WORD)HTERROR)
        CInputRule::InputDropped(HIWORD(lParam), 0, ::GetMessageTime());
    LRESULT lResult = 0;
    {
        // A command of the window (its menus, toolbar, keys, a row's double-click) is
        // carried out as the pages' are (CCommandPage): a refill of the list meanwhile is
        // the command's doing, and the list rests a double-click after it.
        CInputRule::CCommandCarriedOut carrying(CInputRule::IsCommandMessage(message, wParam, lParam));
        lResult = CExtNCW<CExtResizableDialog>::WindowProc(message, wParam, lParam);
    }
    if (message == WM_ACTIVATEAPP) {
        bool bActive = wParam != 0;
        if (bActive && !m_bAppActive && ::IsWindow(m_hWnd))
            ::RedrawWindow(m_hWnd, NULL, NULL, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        m_bAppActive = bActive;
    }
    if (nSysCmd == SC_RESTORE || nSysCmd == SC_MAXIMIZE || (message == WM_ACTIVATE && LOWORD(wParam) != WA_INACTIVE))
        GiveBackFocus();
    return lResult;
}

void CPurgeletDlg::KeepFocusForRestore()
{
    // The system drops the focus on the way down; only a control of this window counts.
    HWND hFocus = ::GetFocus();
    if (hFocus != NULL && ::IsChild(m_hWnd, hFocus)) m_hFocusBeforeMinimise = hFocus;
}

bool CPurgeletDlg::GiveBackFocus()
{
    HWND hFocus = m_hFocusBeforeMinimise;
    if (hFocus == NULL || IsIconic() || ::GetActiveWindow() != m_hWnd) return false;
    m_hFocusBeforeMinimise = NULL;
    // A control hidden or disabled meanwhile (a pane closed) takes no keys.
    if (!::IsWindow(hFocus) || !::IsChild(m_hWnd, hFocus) || !::IsWindowVisible(hFocus) || !::IsWindowEnabled(hFocus))
        return false;
    if (::GetFocus() != hFocus) ::SetFocus(hFocus);
    return true;
}

BOOL CPurgeletDlg::OnCommand(WPARAM wParam, LPARAM lParam)
{
    // While a modal window is up (a box, a dialog, a program's command that runs), the
    // window takes no command: a key or a posted message must not act behind the box,
    // whose answer is about what it named.
    if (CUiManager::RefusesMessage(WM_COMMAND, wParam, lParam)) return TRUE;
    return CExtNCW<CExtResizableDialog>::OnCommand(wParam, lParam);
}

void CPurgeletDlg::OnSysCommand(UINT nID, LPARAM lParam)
{
    // The system menu's About and Close are refused behind a box like the menu's.
    if (CUiManager::RefusesMessage(WM_SYSCOMMAND, nID, lParam)) return;
    if ((nID & 0xFFF0) == IDM_ABOUTBOX) {
        CAboutDlg dlg(this);
        dlg.DoModal();
        return;
    }
    CExtNCW<CExtResizableDialog>::OnSysCommand(nID, lParam);
}

void CPurgeletDlg::OnPaint()
{
    if (!IsIconic()) {
        Default();
        return;
    }
    CPaintDC dc(this);
    SendMessage(WM_ICONERASEBKGND, (WPARAM)dc.GetSafeHdc(), 0);
    CRect rc;
    GetClientRect(&rc);
    int x = (rc.Width() - ::GetSystemMetrics(SM_CXICON) + 1) / 2;
    int y = (rc.Height() - ::GetSystemMetrics(SM_CYICON) + 1) / 2;
    dc.DrawIcon(x, y, m_hIcon);
}

HCURSOR CPurgeletDlg::OnQueryDragIcon() { return (HCURSOR)m_hIcon; }

void CPurgeletDlg::OnSize(UINT nType, int cx, int cy)
{
    CExtNCW<CExtResizableDialog>::OnSize(nType, cx, cy);
    if (nType == SIZE_MINIMIZED) return;
    RepositionAllBars();
    if (m_wndStatusBar.GetSafeHwnd() != NULL && cx > kStatusPaneMargin)
        m_wndStatusBar.SetPaneWidth(0, cx - kStatusPaneMargin);
}

void CPurgeletDlg::OnDestroy()
{
    MarkMainWindow(m_hWnd, false);
    // The panes store their sizes and the groups file first; then every option.
    if (m_pageUninstall.GetSafeHwnd() != NULL) m_pageUninstall.DestroyWindow();
    SaveSettings();
    MarkMainWindowClosing(m_hWnd, false);
    CExtNCW<CExtResizableDialog>::OnDestroy();
}

void CPurgeletDlg::StoreUserState(bool bWaitForHeldFile)
{
    // In the order of the close; only what changed is written.
    m_pageUninstall.StoreGroupsPercentage();
    SaveGroupsFile(false, 0, bWaitForHeldFile);
    m_pageUninstall.m_pageView.StoreListPercentage();
    SaveSettings();
}

// A log-off or shut-down may end the process without closing the window: whatever the
// close would store is stored when the session asks, and again when it ends. The question
// is answered at once (a late answer holds the log-off up, and the system may count it as a
// refusal): a groups file another program holds is looked at once here, and waited for only
// when the session ends, which keeps for the next start what the file cannot take. Before
// the window is set up, nothing of this run is there to store, and what an earlier end kept
// stays where it is.
BOOL CPurgeletDlg::OnQueryEndSession()
{
    if (m_bInitialised) StoreUserState(false);
    return TRUE;
}

void CPurgeletDlg::OnEndSession(BOOL bEnding)
{
    if (bEnding && m_bInitialised) {
        // No question can be asked now: the group editor applies its typing when it can,
        // else keeps it for the next start (the close would have asked). Only now: a
        // session end that is asked and then called off leaves the typing unapplied in
        // the editor, where the user left it.
        m_pageUninstall.m_pageEditor.KeepTypingAtSessionEnd();
        StoreUserState(true);
        // The process ends without its exit: what the groups file does not hold now is
        // kept for the next start.
        CGroupsStore::Instance().EndSession();
    }
    CExtNCW<CExtResizableDialog>::OnEndSession(bEnding);
}

LRESULT CPurgeletDlg::OnUpdateStatusBar(WPARAM, LPARAM)
{
    if (m_wndStatusBar.GetSafeHwnd() == NULL) return 0;
    CUiManager* pUi = CUiManager::GetInstance();
    CString strText;
    strText.Format("%u of %u programs found", pUi->m_nShownPrograms, pUi->m_nTotalPrograms);
    ShowStatusText(strText);
    m_bCountsShown = true;
    return 0;
}

// The pane is invalidated, not painted here: every menu that closes puts the idle text
// back (twice per close), and a synchronous repaint each time kept the next menu from
// showing. Text that is already there is left alone.
void CPurgeletDlg::ShowStatusText(const CString& strText)
{
    if (m_wndStatusBar.GetPaneText(0) == strText) return;
    m_wndStatusBar.SetPaneText(0, strText, TRUE);
    m_wndStatusBar.Invalidate();
}

// The status pane is the program counts' place: only the idle message is shown in it
// (before the first count; afterwards it brings the counts back), so the prompts of the
// commands the menus send along do not wipe the counts out.
LRESULT CPurgeletDlg::OnSetMessageString(WPARAM wParam, LPARAM lParam)
{
    if (m_wndStatusBar.GetSafeHwnd() == NULL || wParam != AFX_IDS_IDLEMESSAGE || lParam != 0) return 0;
    if (m_bCountsShown) return OnUpdateStatusBar(0, 0);
    CString strIdle;
    if (!strIdle.LoadString(AFX_IDS_IDLEMESSAGE) || strIdle.IsEmpty()) strIdle = "Ready";
    ShowStatusText(strIdle);
    return 0;
}

// ---- commands ----------------------------------------------------------------------------

ProgramEntry* CPurgeletDlg::GetTargetProgram() { return CUiManager::GetInstance()->GetTargetProgram(); }

LRESULT CPurgeletDlg::OnCommandStatesChanged(WPARAM, LPARAM)
{
    CExtControlBar::UpdateChildBarsCmdUI(this, TRUE);
    return 0;
}

void CPurgeletDlg::OnEditCopy()
{
    if (CUiManager::GetInstance()->IsProgramListInReach()) CUiManager::GetInstance()->CopySelection();
}

void CPurgeletDlg::OnEditCopyApplication()
{
    ProgramEntry* pProgram = GetTargetProgram();
    if (pProgram != NULL) CopyToClipboard(this, pProgram->DisplayName.c_str());
}

void CPurgeletDlg::OnEditCopyPublisher()
{
    ProgramEntry* pProgram = GetTargetProgram();
    if (pProgram != NULL) CopyToClipboard(this, pProgram->Publisher.empty() ? "N/A" : pProgram->Publisher.c_str());
}

void CPurgeletDlg::RunSelectedCommand(const std::string ProgramEntry::*pCommand)
{
    ProgramEntry* pProgram = GetTargetProgram();
    if (pProgram == NULL) return;
    // The entry goes with the refresh below; the command line is taken before.
    std::string strCommand = pProgram->*pCommand;
    // What is typed and clicked meanwhile is dropped (CInputRule); the list is read
    // again as after F5.
    RunProgram(strCommand.c_str());
    CUiManager::GetInstance()->RefreshPrograms(false);
}

void CPurgeletDlg::OnUninstall() { RunSelectedCommand(&ProgramEntry::UninstallString); }

void CPurgeletDlg::OnUninstallQuiet() { RunSelectedCommand(&ProgramEntry::QuietUninstallString); }

void CPurgeletDlg::OnModify() { RunSelectedCommand(&ProgramEntry::ModifyPath); }

void CPurgeletDlg::OnRemoveEntry()
{
    // The question names the program the answer removes. What names its entry is kept
    // before it asks: the entry object itself may be gone when the answer comes (another
    // program may change the registry meanwhile), and the answer is about that program
    // alone, never about whichever entry is selected then.
    ProgramEntry* pProgram = GetTargetProgram();
    if (pProgram == NULL) return;
    const ProgramEntryKey key = pProgram->GetKey();
    const std::string strName = pProgram->DisplayName;
    // The check compares the exact name: two programs may show alike in the code page.
    const std::wstring strExactName = pProgram->ExactDisplayName;
    CString strTitle;
    GetWindowText(strTitle);
    CBoxNameFitter fitter(strName);
    if (MessageBox(RemoveWarning(strName), strTitle, MB_YESNO | MB_ICONEXCLAMATION) != IDYES) return;
    // The key goes only while it still shows the program the warning named.
    const ProgramEntryKey::RemoveResult result = key.RemoveIfNamed(strExactName);
    if (result.outcome == ProgramEntryKey::Gone)
        AfxMessageBox(RemovedEntryGone(strName), MB_OK | MB_ICONINFORMATION);
    else if (result.outcome == ProgramEntryKey::Changed)
        AfxMessageBox(RemovedEntryChanged(strName), MB_OK | MB_ICONINFORMATION);
    else if (result.outcome == ProgramEntryKey::Failed)
        AfxMessageBox(RemoveFailed(strName, result.error), MB_OK | MB_ICONERROR);
    CUiManager::GetInstance()->RefreshPrograms(false);
}

void CPurgeletDlg::OnAddToGroup()
{
    // The dialog adds a keyword for a program: without one the user's keyword would have
    // nowhere to go (the command is greyed then).
    ProgramEntry* pProgram = GetTargetProgram();
    if (pProgram == NULL) return;
    // The dialog is modal: the program is the one the command acts on now, handed over.
    CDlgGroup dlg(this, pProgram);
    // The new keyword moves programs into the group and out of "Other": the list shows
    // that at once when it is filtered by either.
    if (dlg.DoModal() != IDOK) return;
    if (CPageUninstallGroups::ListDependsOn(dlg.m_pGroupAdded)) CUiManager::GetInstance()->RefreshPrograms(true);
    // Written now: a session's end or a crash before the exit loses no keyword.
    SaveGroupsFile();
}

std::string TrimFolderName(const std::string& location)
{
    const char* kBlanks = " \t\r\n";
    std::string::size_type first = location.find_first_not_of(kBlanks);
    if (first == std::string::npos) return std::string();
    std::string name = location.substr(first, location.find_last_not_of(kBlanks) - first + 1);
    if (name.size() >= 2 && name.front() == '"' && name.back() == '"') {
        name = name.substr(1, name.size() - 2);
        first = name.find_first_not_of(kBlanks);
        if (first == std::string::npos) return std::string();
        name = name.substr(first, name.find_last_not_of(kBlanks) - first + 1);
    }
    return name;
}

void CPurgeletDlg::OnOpenFolder()
{
    ProgramEntry* pProgram = GetTargetProgram();
    if (pProgram == NULL) return;
    // The shell's "open" on a file would run it: only an existing folder is opened.
    std::string strFolder = TrimFolderName(pProgram->InstallLocation);
    DWORD dwAttributes = strFolder.empty() ? INVALID_FILE_ATTRIBUTES : ::GetFileAttributesA(strFolder.c_str());
    if (dwAttributes == INVALID_FILE_ATTRIBUTES || (dwAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
        std::string strText = "The install folder of this program does not exist:\n" + pProgram->InstallLocation;
        AfxMessageBox(strText.c_str(), MB_OK | MB_ICONINFORMATION);
        return;
    }
    ::ShellExecuteA(m_hWnd, "open", strFolder.c_str(), NULL, NULL, SW_SHOWDEFAULT);
}

void CPurgeletDlg::OnRegistryEntry()
{
    ProgramEntry* pProgram = GetTargetProgram();
    if (pProgram != NULL) ShowInRegEdit(pProgram->GetKey().EditorPath().c_str());
}

void CPurgeletDlg::OnRefresh() { CUiManager::GetInstance()->RefreshPrograms(false); }

void CPurgeletDlg::OnViewGroups()
{
    g_ShowCats.Value = g_ShowCats.Value != 0 ? 0 : 1;
    g_ShowCats.Changed = true;
    CUiManager::GetInstance()->ShowGroupsBar(g_ShowCats.Value != 0);
}

void CPurgeletDlg::OnViewDetails()
{
    g_ShowDetails.Value = g_ShowDetails.Value != 0 ? 0 : 1;
    g_ShowDetails.Changed = true;
    CUiManager::GetInstance()->ShowDetailsBar(g_ShowDetails.Value != 0);
}

void CPurgeletDlg::OnOptions()
{
    COptionsDlg dlg(this);
    if (dlg.DoModal() == IDOK) CUiManager::GetInstance()->OptionsChanged();
}

void CPurgeletDlg::ShowBrowserPage(const char* pszAddress)
{
    ::ShellExecuteA(m_hWnd, "open", pszAddress, NULL, NULL, SW_SHOWDEFAULT);
}

void CPurgeletDlg::OnHelp() { ShowBrowserPage(kSupportPage); }

void CPurgeletDlg::OnAbout()
{
    CAboutDlg dlg(this);
    dlg.DoModal();
}

void CPurgeletDlg::OnTolvexRelay() { ShowBrowserPage(kRelayPage); }

// ---- command states ----------------------------------------------------------------------

void CPurgeletDlg::OnUpdateAlways(CCmdUI* pCmdUI) { pCmdUI->Enable(TRUE); }

// Enabled without a selected program too (the command then does nothing), but not while
// the list is out of sight: no program the user sees is chosen then.
void CPurgeletDlg::OnUpdateListShown(CCmdUI* pCmdUI) { pCmdUI->Enable(CUiManager::GetInstance()->IsProgramListInReach()); }

void CPurgeletDlg::OnUpdateUninstall(CCmdUI* pCmdUI)
{
    ProgramEntry* pProgram = GetTargetProgram();
    pCmdUI->Enable(pProgram != NULL && !pProgram->UninstallString.empty());
}

void CPurgeletDlg::OnUpdateUninstallQuiet(CCmdUI* pCmdUI)
{
    ProgramEntry* pProgram = GetTargetProgram();
    pCmdUI->Enable(pProgram != NULL && !pProgram->QuietUninstallString.empty());
}

void CPurgeletDlg::OnUpdateModify(CCmdUI* pCmdUI)
{
    ProgramEntry* pProgram = GetTargetProgram();
    pCmdUI->Enable(pProgram != NULL && !pProgram->ModifyPath.empty());
}

void CPurgeletDlg::OnUpdateRemoveEntry(CCmdUI* pCmdUI)
{
    ProgramEntry* pProgram = GetTargetProgram();
    pCmdUI->Enable(pProgram != NULL && !pProgram->RegistryPath.empty());
}

// A program command like Uninstall: it adds the selected program to a group, so it is
// greyed without one, as it is while only "Other" exists.
void CPurgeletDlg::OnUpdateAddToGroup(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(GetTargetProgram() != NULL && CGroupManager::GetInstance()->m_Groups.size() >= 2);
}

void CPurgeletDlg::OnUpdateOpenFolder(CCmdUI* pCmdUI)
{
    ProgramEntry* pProgram = GetTargetProgram();
    pCmdUI->Enable(pProgram != NULL && !pProgram->InstallLocation.empty());
}

void CPurgeletDlg::OnUpdateViewGroups(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(TRUE);
    pCmdUI->SetCheck(g_ShowCats.Value != 0 ? 1 : 0);
}

void CPurgeletDlg::OnUpdateViewDetails(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(TRUE);
    pCmdUI->SetCheck(g_ShowDetails.Value != 0 ? 1 : 0);
}
