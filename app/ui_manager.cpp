#include "app/ui_manager.h"
#include "app/groups_store.h"
#include "app/input_rule.h"

const UINT g_nMsgShowGroupsBar = ::RegisterWindowMessageA("g_nMsgShowGroupsBar");
const UINT g_nMsgShowDetailsBar = ::RegisterWindowMessageA("g_nMsgShowDetailsBar");
const UINT g_nMsgShowProgramDetails = ::RegisterWindowMessageA("g_nMsgShowProgramDetails");
const UINT g_nMsgShowGroupEditor = ::RegisterWindowMessageA("g_nMsgShowGroupEditor");
const UINT g_nMsgCloseGroupEditor = ::RegisterWindowMessageA("g_nMsgCloseGroupEditor");
const UINT g_nMsgRefreshGroups = ::RegisterWindowMessageA("g_nMsgRefreshGroups");
const UINT g_nMsgRefreshPrograms = ::RegisterWindowMessageA("g_nMsgRefreshPrograms");
const UINT g_nMsgCopySelection = ::RegisterWindowMessageA("g_nMsgCopySelection");
const UINT g_nMsgOptionsChanged = ::RegisterWindowMessageA("g_nMsgOptionsChanged");
const UINT g_nMsgUpdateStatusBar = ::RegisterWindowMessageA("g_nMsgUpdateStatusBar");
const UINT g_nMsgCommandStatesChanged = ::RegisterWindowMessageA("g_nMsgCommandStatesChanged");
const UINT g_nMsgApplyGroupEditor = ::RegisterWindowMessageA("g_nMsgApplyGroupEditor");
const UINT g_nMsgGroupEditorTyped = ::RegisterWindowMessageA("g_nMsgGroupEditorTyped");

CUiManager::CUiManager()
    : m_hWndLeftPane(NULL),
      m_hWndRightPane(NULL),
      m_hWndDetailsPane(NULL),
      m_hWndGroupsPage(NULL),
      m_hWndProgramList(NULL),
      m_nTotalPrograms(0),
      m_nShownPrograms(0),
      m_bGroupEditorOpen(false),
      m_pSelectedProgram(NULL)
{
}

CUiManager::~CUiManager() {}

CUiManager* CUiManager::GetInstance()
{
    static CUiManager s_instance;
    return &s_instance;
}

void CUiManager::ShowGroupsBar(bool bShow)
{
    ::SendMessageA(m_hWndLeftPane, g_nMsgShowGroupsBar, bShow ? 1 : 0, 0);
}

void CUiManager::ShowDetailsBar(bool bShow)
{
    ::SendMessageA(m_hWndRightPane, g_nMsgShowDetailsBar, bShow ? 1 : 0, 0);
}

void CUiManager::ShowProgramDetails(ProgramEntry* pEntry)
{
    if (m_hWndDetailsPane != NULL)
        ::SendMessageA(m_hWndDetailsPane, g_nMsgShowProgramDetails, (WPARAM)pEntry, 0);
}

bool CUiManager::ShowGroupEditor(int nGroupId)
{
    // The pane refuses the message while a box is up; the flag stays what it shows. No
    // group is made or edited before the groups are read.
    if (!CInputRule::TakesCommands() || !CGroupsStore::Instance().GroupsMayChange()) return false;
    // What the user typed is never replaced unasked, whichever way the other group
    // comes (New, Edit, a double-click, a click or a key in the tree).
    if (!SettleGroupEditorTyping()) return false;
    // The flag follows the pane's handling, so a selection change that opening the
    // editor causes still sees the editor closed.
    ::SendMessageA(m_hWndLeftPane, g_nMsgShowGroupEditor, (WPARAM)(INT_PTR)nGroupId, 0);
    m_bGroupEditorOpen = true;
    CommandStatesChanged();
    return true;
}

bool CUiManager::IsGroupEditorTyped() const
{
    return m_bGroupEditorOpen && m_hWndLeftPane != NULL &&
           ::SendMessageA(m_hWndLeftPane, g_nMsgGroupEditorTyped, 0, 0) != 0;
}

bool CUiManager::SettleGroupEditorTyping()
{
    if (!IsGroupEditorTyped()) return true;
    if (!CInputRule::TakesCommands()) return false;
    const int nAnswer = ShowBoxOver(m_hWndLeftPane,
                                    "The group editor holds changes that are not applied yet.\r\n\r\n"
                                    "Do you want to apply them?",
                                    MB_YESNOCANCEL | MB_ICONQUESTION);
    // No drops it: what goes on replaces or ends the editor.
    if (nAnswer == IDNO) return true;
    if (nAnswer != IDYES) return false;
    // Apply may refuse (no name, a character the groups file cannot hold; it says why):
    // the editor then stays as it is, with what was typed.
    return ::SendMessageA(m_hWndLeftPane, g_nMsgApplyGroupEditor, 0, 0) != 0;
}

void CUiManager::CloseGroupEditor()
{
    if (!CInputRule::TakesCommands()) return;
    ::SendMessageA(m_hWndLeftPane, g_nMsgCloseGroupEditor, 0, 0);
    m_bGroupEditorOpen = false;
    CommandStatesChanged();
}

void CUiManager::RefreshGroups()
{
    ::SendMessageA(m_hWndGroupsPage, g_nMsgRefreshGroups, 0, 0);
}

void CUiManager::RefreshPrograms(bool bFilterOnly)
{
    if (m_hWndRightPane != NULL)
        ::SendMessageA(m_hWndRightPane, g_nMsgRefreshPrograms, bFilterOnly ? 1 : 0, 0);
}

void CUiManager::CopySelection()
{
    if (m_hWndRightPane != NULL) ::SendMessageA(m_hWndRightPane, g_nMsgCopySelection, 0, 0);
}

void CUiManager::OptionsChanged()
{
    if (m_hWndRightPane != NULL) ::SendMessageA(m_hWndRightPane, g_nMsgOptionsChanged, 0, 0);
}

void CUiManager::UpdateStatusBar()
{
    CWnd* pMainWnd = AfxGetMainWnd();
    if (pMainWnd != NULL && pMainWnd->GetSafeHwnd() != NULL)
        ::SendMessageA(pMainWnd->GetSafeHwnd(), g_nMsgUpdateStatusBar, 0, 0);
}

HICON CUiManager::GetProgramIcon(const char* pszPath, int nIndex, bool bUseDefault)
{
    HICON hIcon = m_IconCache.Find(pszPath);
    if (hIcon != NULL) return hIcon;
    if (pszPath != NULL) ::ExtractIconExA(pszPath, nIndex, NULL, &hIcon, 1);
    if (bUseDefault && hIcon == NULL) hIcon = m_IconCache.GetDefaultIcon();
    m_IconCache.Add(pszPath, hIcon);
    return hIcon;
}

void CUiManager::SetSelectedProgram(ProgramEntry* pEntry)
{
    if (m_pSelectedProgram == pEntry) return;
    m_pSelectedProgram = pEntry;
    CommandStatesChanged();
}

ProgramEntry* CUiManager::GetTargetProgram() const
{
    // With none selected there is nothing to ask about.
    return m_pSelectedProgram != NULL && IsProgramListInReach() ? m_pSelectedProgram : NULL;
}

bool CUiManager::IsProgramListInReach() const
{
    return !CInputRule::IsModalWindowUp() && IsProgramListOnScreen();
}

bool CUiManager::IsProgramListOnScreen() const
{
    if (m_bGroupEditorOpen || m_hWndProgramList == NULL || !::IsWindow(m_hWndProgramList)) return false;
    // What is left of the list once each window holding it has clipped it: a splitter
    // may have squeezed a pane to nothing, or a minimised window has no client area.
    RECT rcVisible;
    ::GetWindowRect(m_hWndProgramList, &rcVisible);
    for (HWND hWnd = m_hWndProgramList; hWnd != NULL; hWnd = ::GetParent(hWnd)) {
        const LONG nStyle = ::GetWindowLongA(hWnd, GWL_STYLE);
        const bool bTopLevel = (nStyle & WS_CHILD) == 0;
        if (!bTopLevel && (nStyle & WS_VISIBLE) == 0) return false;
        if (hWnd != m_hWndProgramList) {
            RECT rcClient;
            ::GetClientRect(hWnd, &rcClient);
            ::MapWindowPoints(hWnd, NULL, (POINT*)&rcClient, 2);
            if (!::IntersectRect(&rcVisible, &rcVisible, &rcClient)) return false;
        } else if (::IsRectEmpty(&rcVisible)) {
            return false;
        }
        if (bTopLevel) break;
    }
    // A window may lie partly or wholly off every monitor (dragged down until only its
    // caption shows): what lies there is not on screen, nor what the taskbar covers.
    return m_WorkAreas.Holds(rcVisible);
}

bool CUiManager::RefusesMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    const bool bActs = CInputRule::IsCommandMessage(message, wParam, lParam) || message == WM_CONTEXTMENU ||
                       message == g_nMsgRefreshPrograms || message == g_nMsgCopySelection ||
                       message == g_nMsgOptionsChanged || message == g_nMsgShowGroupEditor ||
                       message == g_nMsgCloseGroupEditor;
    return bActs && !CInputRule::TakesCommands();
}

int CUiManager::ShowBoxOver(HWND hWnd, LPCTSTR pszText, UINT nType)
{
    HWND hOwner = hWnd != NULL ? ::GetAncestor(hWnd, GA_ROOT) : NULL;
    if (hOwner == NULL) {
        CWnd* pMainWnd = AfxGetMainWnd();
        hOwner = pMainWnd != NULL ? pMainWnd->GetSafeHwnd() : NULL;
    }
    CString strTitle;
    if (hOwner != NULL) CWnd::FromHandle(hOwner)->GetWindowText(strTitle);
    return ::MessageBoxA(hOwner, pszText, strTitle, nType);
}

void CUiManager::CommandStatesChanged()
{
    // Posted: the bars ask the main window's update handlers, which must see the list's
    // change finished. Nothing else brings the bars up to date when the change ends in a
    // message to the list alone (a drag that drops the selection ends in the list).
    CWnd* pMainWnd = AfxGetMainWnd();
    if (pMainWnd != NULL && pMainWnd->GetSafeHwnd() != NULL)
        ::PostMessageA(pMainWnd->GetSafeHwnd(), g_nMsgCommandStatesChanged, 0, 0);
}
