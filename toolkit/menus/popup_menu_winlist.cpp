// Items made at run time: the list of open document windows of an MDI frame (the Window
// menu's window list) and the application's recently used files in place of the
// framework's recent-file placeholder. Both register their commands in the command
// profile first, so that menus, toolbars and tips find texts for them.
#include "toolkit/menus/popup_menu_wnd.h"

#include "toolkit/core/cmd_item.h"
#include "toolkit/core/cmd_manager.h"
#include "toolkit/core/resource_manager.h"

namespace {

const UINT kFirstMdiChild = 0xFF00;
const UINT kMoreWindows = 0xFF09;
const UINT kFirstRecentFile = 0xE110;

// A format string of the resource manager, loaded with the framework's resources taken
// from the instance, or the built-in English text.
CString LoadFormat(UINT nID, LPCTSTR sBuiltIn)
{
    HINSTANCE hOld = AfxGetResourceHandle();
    AfxSetResourceHandle(AfxGetInstanceHandle());
    CString s;
    const bool bLoaded = g_CurrentResourceManager->LoadString(s, nID);
    AfxSetResourceHandle(hOld);
    if (!bLoaded || s.IsEmpty())
        s = sBuiltIn;
    return s;
}

// "&n name" for 1-9; from 10 the access key is the last digit: "t&u name".
CString NumberedMenuText(int n, LPCTSTR sName)
{
    CString s;
    if (n < 10)
        s.Format(_T("&%d %s"), n, sName);
    else
        s.Format(_T("%d&%d %s"), n / 10, n % 10, sName);
    return s;
}

CExtCmdItem* FindOrAllocCmd(LPCTSTR sProfile, UINT nCmdID)
{
    CExtCmdItem* pCmd = g_CommandManager->CmdGetPtr(sProfile, nCmdID);
    if (pCmd == NULL)
        pCmd = g_CommandManager->CmdAllocPtr(sProfile, nCmdID);
    return pCmd;
}

CMDIFrameWnd* FindMdiFrame(CWnd* pStart)
{
    for (HWND hWnd = (pStart != NULL) ? pStart->GetSafeHwnd() : NULL; hWnd != NULL; hWnd = ::GetParent(hWnd))
    {
        CMDIFrameWnd* pFrame = DYNAMIC_DOWNCAST(CMDIFrameWnd, CWnd::FromHandlePermanent(hWnd));
        if (pFrame != NULL)
            return pFrame;
    }
    return NULL;
}

}  // namespace

bool CExtPopupMenuWnd::UpdateMdiWindowsMenu(CWnd* pFrame)
{
    CWnd* pStart = pFrame;
    if (pStart == NULL && m_hWndCmdReceiver != NULL && ::IsWindow(m_hWndCmdReceiver))
        pStart = CWnd::FromHandle(m_hWndCmdReceiver);
    CMDIFrameWnd* pMdiFrame = FindMdiFrame(pStart);
    if (pMdiFrame == NULL || pMdiFrame->m_hWndMDIClient == NULL)
        return false;
    const int nCount = ItemGetCount();
    if (nCount > 0 && !m_items.ElementAt(nCount - 1).IsSeparator())
        ItemInsert(TYPE_SEPARATOR, -1);
    HWND hWndClient = pMdiFrame->m_hWndMDIClient;
    HWND hWndActive = (HWND)::SendMessage(hWndClient, WM_MDIGETACTIVE, 0, 0);
    if (hWndActive != NULL)
    {
        CMDIChildWnd* pChild = DYNAMIC_DOWNCAST(CMDIChildWnd, CWnd::FromHandlePermanent(hWndActive));
        if (pChild != NULL && pChild->m_bPseudoInactive && (::GetWindowLong(hWndActive, GWL_STYLE) & WS_VISIBLE) == 0)
            hWndActive = NULL;
    }
    LPCTSTR sProfile = (pFrame != NULL) ? g_CommandManager->ProfileNameFromWnd(pFrame->GetSafeHwnd()) : NULL;
    const CString sDocFormat = LoadFormat(30006, _T("Document \"%s\""));
    int nShown = 0;
    for (UINT nID = kFirstMdiChild;; nID++)
    {
        HWND hWndChild = ::GetDlgItem(hWndClient, (int)nID);
        if (hWndChild == NULL)
            break;
        if ((::GetWindowLong(hWndChild, GWL_STYLE) & WS_VISIBLE) == 0)
            continue;  // a hidden child keeps its id but takes no number
        nShown++;
        if (nShown == 10)
        {
            if (!ItemInsert(TYPE_SEPARATOR, -1))
                return false;
            CExtCmdItem* pMore = FindOrAllocCmd(sProfile, kMoreWindows);
            if (pMore == NULL)
                return false;
            pMore->m_sMenuText = pMore->m_sToolbarText = LoadFormat(30007, _T("More Windows"));
            pMore->m_sTipStatus = pMore->m_sTipTool = LoadFormat(30008, _T("Manage opened document windows"));
            if (!ItemInsert(kMoreWindows, -1))
                return false;
            break;
        }
        CString sTitle;
        const int nLen = ::GetWindowTextLength(hWndChild);
        if (nLen > 0)
        {
            ::GetWindowText(hWndChild, sTitle.GetBuffer(nLen + 1), nLen + 1);
            sTitle.ReleaseBuffer();
        }
        CExtCmdItem* pCmd = FindOrAllocCmd(sProfile, nID);
        if (pCmd == NULL)
            return false;
        pCmd->m_sMenuText = pCmd->m_sToolbarText = NumberedMenuText(nShown, sTitle);
        CString sTip;
        sTip.Format(sDocFormat, (LPCTSTR)sTitle);
        pCmd->m_sTipStatus = pCmd->m_sTipTool = sTip;
        const bool bActive = hWndChild == hWndActive;
        pCmd->SetRadio(bActive);
        if (!ItemInsert(nID, -1))
            return false;
        if (bActive)
            m_items.ElementAt(ItemGetCount() - 1).SetRadio(true);
    }
    RecalcLayout();
    return true;
}

bool CExtPopupMenuWnd::InsertRecentFileItems(int nPos, int& nInserted)
{
    nInserted = 0;
    CWinApp* pApp = AfxGetApp();
    if (pApp == NULL || pApp->m_pRecentFileList == NULL)
        return true;
    CRecentFileList& list = *pApp->m_pRecentFileList;
    TCHAR szCurDir[MAX_PATH + 2] = {0};
    int nCurDir = (int)::GetCurrentDirectory(MAX_PATH, szCurDir);
    if (nCurDir > 0 && nCurDir < MAX_PATH && szCurDir[nCurDir - 1] != _T('\\'))
    {
        szCurDir[nCurDir++] = _T('\\');
        szCurDir[nCurDir] = 0;
    }
    LPCTSTR sProfile = g_CommandManager->ProfileNameFromWnd(m_hWndCmdReceiver);
    const CString sToolbarFormat = LoadFormat(30004, _T("Recent file %d"));
    const CString sTipFormat = LoadFormat(30005, _T("Recent file %d (\"%s\")"));
    for (int n = 1; n <= list.GetSize(); n++)
    {
        CString sName;
        if (!list.GetDisplayName(sName, n - 1, szCurDir, nCurDir, TRUE) || sName.IsEmpty())
            continue;
        const UINT nCmdID = kFirstRecentFile - 1 + (UINT)n;
        CExtCmdItem* pCmd = FindOrAllocCmd(sProfile, nCmdID);
        if (pCmd == NULL)
            return false;
        pCmd->m_sMenuText = NumberedMenuText(n, sName);
        pCmd->m_sToolbarText.Format(sToolbarFormat, n);
        CString sTip;
        sTip.Format(sTipFormat, n, (LPCTSTR)sName);
        pCmd->m_sTipStatus = pCmd->m_sTipTool = sTip;
        // Entries without a name are passed over, so the items stay together.
        if (!ItemInsert(nCmdID, nPos + nInserted))
            return false;
        nInserted++;
    }
    return true;
}
