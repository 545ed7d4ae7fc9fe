#include "app/ui_manager.h"

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

CUiManager::CUiManager()
    : m_hWndLeftPane(NULL),
      m_hWndRightPane(NULL),
      m_hWndDetailsPane(NULL),
      m_hWndGroupsPage(NULL),
      m_bGroupEditorOpen(false),
      m_pSelectedProgram(NULL),
      m_nTotalPrograms(0),
      m_nShownPrograms(0)
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

void CUiManager::ShowGroupEditor(int nGroupId)
{
    // The flag follows the pane's handling, so a selection change that opening the
    // editor causes still sees the editor closed.
    ::SendMessageA(m_hWndLeftPane, g_nMsgShowGroupEditor, (WPARAM)(INT_PTR)nGroupId, 0);
    m_bGroupEditorOpen = true;
}

void CUiManager::CloseGroupEditor()
{
    ::SendMessageA(m_hWndLeftPane, g_nMsgCloseGroupEditor, 0, 0);
    m_bGroupEditorOpen = false;
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
