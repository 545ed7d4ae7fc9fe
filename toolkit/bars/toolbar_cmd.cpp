// The toolbar's command side: command-UI updating of buttons, button menus and their
// hand-over from one button to the next, access keys, the bar's display name, the
// visibility list and the help-mode loop.
#include "toolkit/bars/toolbar.h"
#include "toolkit/bars/chevron_button.h"
#include "toolkit/bars/bar_mdi_buttons.h"
#include "toolkit/core/cmd_manager.h"
#include "toolkit/core/cmd_item.h"
#include "toolkit/core/cmd_tree.h"
#include "toolkit/core/resource_manager.h"
#include "toolkit/menus/popup_menu_wnd.h"
#include "toolkit/menus/popup_tracking_site.h"

bool CExtToolControlBar::g_bButtonMenuTracking = false;

namespace {

const DWORD TBBS_CHECKBOX_BIT = 0x2;
const DWORD TBBS_CHECKED_BIT = 0x10000;
const DWORD TBBS_PRESSED_BIT = 0x20000;
const DWORD TBBS_DISABLED_BIT = 0x40000;
const DWORD TBBS_HIDDEN_BIT = 0x80000;
const DWORD TBBS_INDETERMINATE_BIT = 0x100000;

CWnd* OwnerOrParent(CWnd* pWnd)
{
    CWnd* pOwner = pWnd->GetOwner();
    return pOwner != NULL ? pOwner : pWnd->GetParent();
}

}  // namespace

// ---- command UI -------------------------------------------------------------------------

CExtToolControlBar* CExtToolControlBar::CExtToolControlBarCmdUI::Bar() const
{
    return DYNAMIC_DOWNCAST(CExtToolControlBar, m_pOther);
}

CExtBarButton* CExtToolControlBar::CExtToolControlBarCmdUI::Button() const
{
    CExtToolControlBar* pBar = Bar();
    CExtBarButton* pTBB = pBar != NULL ? pBar->GetButton((int)m_nIndex) : NULL;
    if (m_pTBB != NULL && pTBB != m_pTBB)
        pTBB = m_pTBB;
    if (pTBB == NULL || (pBar != NULL && pTBB == pBar->m_pRightBtn))
        return NULL;
    return pTBB;
}

CExtCmdItem* CExtToolControlBar::CExtToolControlBarCmdUI::CmdItem() const
{
    CExtToolControlBar* pBar = Bar();
    if (pBar == NULL || pBar->GetSafeHwnd() == NULL || g_CommandManager.GetCmdManager() == NULL)
        return NULL;
    LPCTSTR sProfile = g_CommandManager->ProfileNameFromWnd(pBar->GetSafeHwnd());
    return sProfile != NULL ? g_CommandManager->CmdGetPtr(sProfile, m_nID) : NULL;
}

void CExtToolControlBar::CExtToolControlBarCmdUI::ApplyStyle(CExtBarButton* pTBB, DWORD dwNew)
{
    if (pTBB->GetStyle() == dwNew)
        return;
    CExtToolControlBar* pBar = Bar();
    const int nIndex = pBar != NULL ? pBar->GetButtonIndex(pTBB) : -1;
    if (nIndex >= 0)
        pBar->SetButtonStyle(nIndex, dwNew);
    else
    {
        pTBB->SetStyle(dwNew);
        pTBB->Redraw(false);
    }
}

void CExtToolControlBar::CExtToolControlBarCmdUI::Enable(BOOL bOn)
{
    m_bEnableChanged = TRUE;
    CExtBarButton* pTBB = Button();
    if (pTBB == NULL)
        return;
    const DWORD dwStyle = pTBB->GetStyle();
    ApplyStyle(pTBB, bOn ? (dwStyle & ~TBBS_DISABLED_BIT) : (dwStyle | TBBS_DISABLED_BIT));
    CExtCmdItem* pItem = CmdItem();
    if (pItem != NULL)
        pItem->Enable(bOn != FALSE);
}

void CExtToolControlBar::CExtToolControlBarCmdUI::SetCheck(int nCheck)
{
    CExtBarButton* pTBB = Button();
    if (pTBB == NULL)
        return;
    DWORD dwStyle = pTBB->GetStyle() & ~(TBBS_CHECKED_BIT | TBBS_INDETERMINATE_BIT);
    if (nCheck == 1)
        dwStyle |= TBBS_CHECKED_BIT;
    else if (nCheck == 2)
        dwStyle |= TBBS_INDETERMINATE_BIT;
    ApplyStyle(pTBB, dwStyle | TBBS_CHECKBOX_BIT);
    CExtCmdItem* pItem = CmdItem();
    if (pItem != NULL)
        pItem->SetCheck((dwStyle & (TBBS_CHECKED_BIT | TBBS_INDETERMINATE_BIT)) != 0);
}

void CExtToolControlBar::CExtToolControlBarCmdUI::SetRadio(BOOL bOn)
{
    CExtBarButton* pTBB = Button();
    if (pTBB == NULL)
        return;
    DWORD dwStyle = pTBB->GetStyle() & ~(TBBS_CHECKED_BIT | TBBS_INDETERMINATE_BIT);
    if (bOn)
        dwStyle |= TBBS_CHECKED_BIT;
    ApplyStyle(pTBB, dwStyle | TBBS_CHECKBOX_BIT);
    CExtCmdItem* pItem = CmdItem();
    if (pItem != NULL)
        pItem->SetRadio(bOn != FALSE);
}

void CExtToolControlBar::CExtToolControlBarCmdUI::SetText(LPCTSTR) {}

void CExtToolControlBar::OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler)
{
    if (m_hWnd == NULL)
        return;
    if ((m_nOptionFlags & __ESF_OUTSIDE_FRAME) != 0)
    {
        // A bar in a dialog answers to its dialog, not to a frame's update pass.
        if (pTarget != NULL && pTarget->IsKindOf(RUNTIME_CLASS(CFrameWnd)))
            return;
        pTarget = reinterpret_cast<CFrameWnd*>(OwnerOrParent(this));
    }
    else
    {
        CExtControlBar::OnUpdateCmdUI(pTarget, bDisableIfNoHndler);
        if (GetDraggedBar() != NULL || pTarget == NULL)
            return;
    }
    if (pTarget == NULL || (GetStyle() & WS_VISIBLE) == 0)
        return;
    for (int i = 0; i < GetButtonsCount() && m_hWnd != NULL; i++)
        m_buttons[i]->OnUpdateCmdUI(pTarget, bDisableIfNoHndler, i);
    if (m_hWnd != NULL)
        UpdateDialogControls(pTarget, bDisableIfNoHndler);
}

void CExtToolControlBar::UpdateButtonCmdUI(int nIndex)
{
    CExtBarButton* pTBB = GetButton(nIndex);
    if (pTBB == NULL || m_hWnd == NULL)
        return;
    CWnd* pTarget = OwnerOrParent(this);
    if (pTarget == NULL)
        pTarget = GetParentFrame();
    if (pTarget == NULL)
        return;
    BOOL bDisableIfNoHandler = TRUE;
    CFrameWnd* pFrame = DYNAMIC_DOWNCAST(CFrameWnd, pTarget);
    if (pFrame != NULL)
        bDisableIfNoHandler = pFrame->m_bAutoMenuEnable;
    pTBB->OnUpdateCmdUI(reinterpret_cast<CFrameWnd*>(pTarget), bDisableIfNoHandler, nIndex);
}

// ---- button menus -----------------------------------------------------------------------

void CExtToolControlBar::CancelAllButtonMenuTracking()
{
    g_bButtonMenuTracking = false;
    for (INT_PTR i = 0; i < g_AllBars.GetSize(); i++)
    {
        CExtToolControlBar* pBar = DYNAMIC_DOWNCAST(CExtToolControlBar, g_AllBars[i]);
        if (pBar == NULL || pBar->GetSafeHwnd() == NULL || CWnd::FromHandlePermanent(pBar->GetSafeHwnd()) != pBar)
            continue;
        pBar->SetMenuTrackingButton(-1);
    }
    if (!g_PopupTrackingSite.IsEmpty() && !g_PopupTrackingSite.IsShutdownMode())
    {
        CExtPopupMenuWnd* pMenu = g_PopupTrackingSite.GetInstance();
        if (pMenu != NULL && pMenu->GetSafeHwnd() != NULL)
            pMenu->PostMessage(WM_CANCELMODE);
    }
    CWnd::CancelToolTips(FALSE);
}

void CExtToolControlBar::SetMenuTrackingButton(int nIndex)
{
    if (m_hWnd == NULL)
        return;
    CExtBarButton* pOld = GetButton(m_nBtnIdxMenuTracking);
    if (pOld != NULL)
    {
        pOld->ModifyStyle(0, TBBS_CHECKED_BIT | TBBS_PRESSED_BIT | TBBS_INDETERMINATE_BIT);
        pOld->ClearTracked();
        RedrawButton(m_nBtnIdxMenuTracking);
    }
    m_nBtnIdxMenuTracking = -1;
    CExtBarButton* pNew = GetButton(nIndex);
    if (pNew == NULL)
        return;
    m_nBtnIdxMenuTracking = nIndex;
    pNew->ModifyStyle(TBBS_PRESSED_BIT, TBBS_CHECKED_BIT | TBBS_INDETERMINATE_BIT);
    pNew->SetTracked();
    RedrawButton(nIndex);
}

BOOL CExtToolControlBar::TrackButtonMenu(int nIndex, BOOL bSelectAny, BOOL bDelayed, BOOL bKeyboard)
{
    if (IsCustomizeModeActive())
        return FALSE;
    if (g_bButtonMenuTracking && nIndex == m_nBtnIdxMenuTracking)
        return TRUE;
    CExtBarButton* pTBB = GetButton(nIndex);
    if (m_hWnd == NULL || (GetStyle() & WS_VISIBLE) == 0 || pTBB == NULL ||
        (pTBB->GetStyle() & (TBBS_DISABLED_BIT | TBBS_HIDDEN_BIT)) != 0 || !pTBB->HasPopup(false))
        return FALSE;
    CPoint point;
    if (!::GetCursorPos(&point))
        return FALSE;
    if (bDelayed)
    {
        PostMessage(g_nMsgTrackButtonMenu, (WPARAM)nIndex, (LPARAM)(bKeyboard ? 1 : 0));
        return TRUE;
    }
    ScreenToClient(&point);
    pTBB->OnTrackPopup(point, bSelectAny != FALSE, bKeyboard != FALSE);
    return TRUE;
}

LRESULT CExtToolControlBar::OnTrackButtonMenu(WPARAM wParam, LPARAM lParam)
{
    CWnd* pTarget = (m_nOptionFlags & __ESF_OUTSIDE_FRAME) != 0 ? OwnerOrParent(this) : GetDockingFrame();
    if (pTarget == NULL || !pTarget->IsWindowEnabled() || GetButtonsCount() == 0)
        return 0;
    const int nIndex = (int)wParam;
    CExtBarButton* pTBB = GetButton(nIndex);
    if (pTBB != NULL && pTBB->HasPopup(false) && CExtPopupMenuWnd::IsMenuTracking())
    {
        TrackButtonMenu(nIndex, TRUE, FALSE, lParam != 0);
        return 0;
    }
    CancelAllButtonMenuTracking();
    if (::GetCapture() == m_hWnd)
        ::ReleaseCapture();
    return 0;
}

// ---- access keys and names ---------------------------------------------------------------

int CExtToolControlBar::GetButtonByAccessKey(TCHAR chUpper)
{
    for (int i = 0; i < GetButtonsCount(); i++)
    {
        CExtBarButton* pTBB = m_buttons[i];
        if (!pTBB->IsVisible() || (pTBB->GetStyle() & TBBS_HIDDEN_BIT) != 0 || pTBB->IsSeparator() ||
            pTBB == m_pRightBtn || pTBB->IsKindOf(RUNTIME_CLASS(CExtBarMdiDocButton)))
            continue;
        const CString sText = pTBB->GetText();
        const int nLen = sText.GetLength();
        for (int k = 0; k + 1 < nLen; k++)
        {
            if (sText[k] != _T('&'))
                continue;
            // "&&" stands for one ampersand and marks nothing.
            if (sText[k + 1] == _T('&'))
            {
                k++;
                continue;
            }
            TCHAR ch = sText[k + 1];
            ::CharUpperBuff(&ch, 1);
            if (ch == chUpper)
                return i;
            break;
        }
    }
    return -1;
}

void CExtToolControlBar::GetBarCaption(CString& sText, CExtCustomizeCmdTreeNode* pNode)
{
    sText.Empty();
    const UINT nID = m_hWnd != NULL ? (UINT)GetDlgCtrlID() : 0;
    if (m_hWnd != NULL && g_CommandManager.GetCmdManager() != NULL)
    {
        LPCTSTR sProfile = g_CommandManager->ProfileNameFromWnd(m_hWnd);
        CExtCmdItem* pItem = sProfile != NULL ? g_CommandManager->CmdGetPtr(sProfile, nID) : NULL;
        if (pItem != NULL)
            sText = pItem->m_sToolbarText.IsEmpty() ? pItem->m_sMenuText : pItem->m_sToolbarText;
    }
    if (sText.IsEmpty() && nID != 0)
        g_CurrentResourceManager->LoadString(sText, nID);
    if (sText.IsEmpty() && m_hWnd != NULL)
        GetWindowText(sText);
    if (sText.IsEmpty())
        sText.Format(_T("Toolbar #%08X"), nID);
    if (pNode == NULL)
        return;
    pNode->SetTextInToolbar(sText);
    pNode->SetTextInMenu(sText);
    const bool bRTL = IsRightToLeftButtonOrder();
    const int nCount = GetButtonsCount();
    for (int k = 0; k < nCount; k++)
    {
        CExtBarButton* pTBB = m_buttons[bRTL ? nCount - 1 - k : k];
        CExtCustomizeCmdTreeNode* pButtonNode = pTBB->GetCmdNode(false);
        if (pButtonNode != NULL)
            pNode->InsertNode(m_pCustomizeSite, pButtonNode);
    }
}

// ---- visibility list --------------------------------------------------------------------

namespace {

bool IsVisibilityListed(CExtBarButton* pTBB)
{
    if (pTBB->IsSeparator() || pTBB->IsKindOf(RUNTIME_CLASS(CExtBarContentExpandButton)) ||
        pTBB->IsKindOf(RUNTIME_CLASS(CExtBarMdiDocButton)))
        return false;
    CExtCustomizeCmdTreeNode* pNode = pTBB->GetCmdNode(false);
    return pNode != NULL && (pNode->GetFlags() & 0x200) == 0;
}

}  // namespace

bool CExtToolControlBar::HasVisibilityMenuItems()
{
    if (IsPanelBar() || CExtPaintManagerHolder::IsKindOfByName(this, "CExtPanelControlBar") ||
        CExtPaintManagerHolder::IsKindOfByName(this, "CExtMenuControlBar") || m_hWnd == NULL ||
        (GetStyle() & WS_VISIBLE) == 0)
        return false;
    for (int i = 0; i < GetButtonsCount(); i++)
        if (IsVisibilityListed(m_buttons[i]))
            return true;
    return false;
}

void CExtToolControlBar::BuildVisibilityMenu(CExtPopupMenuWnd* pPopup)
{
    if (pPopup == NULL)
        return;
    int nPos = pPopup->ItemGetCount();
    for (int i = 0; i < GetButtonsCount(); i++)
    {
        CExtBarButton* pTBB = m_buttons[i];
        if (!IsVisibilityListed(pTBB))
            continue;
        if (!pPopup->ItemInsert(pTBB->GetCmdID(false), nPos))
            continue;
        CExtPopupMenuWnd::MENUITEMDATA& mi = pPopup->ItemGetInfo(nPos);
        mi.m_pCbItemClick = ToggleVisibilityMenuItem;
        mi.m_dwUserValue = (DWORD)(DWORD_PTR)pTBB;
        mi.SetCheck((pTBB->GetStyle() & TBBS_HIDDEN_BIT) == 0);
        nPos++;
    }
}

CExtToolControlBar* CExtToolControlBar::FindLiveBar(const void* pBarOrButton)
{
    if (pBarOrButton == NULL)
        return NULL;
    for (INT_PTR i = 0; i < g_AllBars.GetSize(); i++)
    {
        CExtToolControlBar* pBar = DYNAMIC_DOWNCAST(CExtToolControlBar, g_AllBars[i]);
        if (pBar == NULL)
            continue;
        if (pBar == pBarOrButton)
            return pBar;
        for (int k = 0; k < pBar->GetButtonsCount(); k++)
            if (pBar->m_buttons[k] == pBarOrButton)
                return pBar;
    }
    return NULL;
}

bool CExtToolControlBar::ToggleVisibilityMenuItem(CExtPopupMenuWnd*, LPVOID pItemData)
{
    CExtPopupMenuWnd::MENUITEMDATA* pItem = reinterpret_cast<CExtPopupMenuWnd::MENUITEMDATA*>(pItemData);
    if (pItem == NULL || pItem->m_pCbItemClick == NULL)
        return false;
    // The item outlives nothing it points at: the button is looked up among the live
    // bars' buttons before it is touched.
    const CExtBarButton* pKey = reinterpret_cast<const CExtBarButton*>((DWORD_PTR)pItem->m_dwUserValue);
    CExtToolControlBar* pBar = FindLiveBar(pKey);
    if (pBar == NULL || pBar->GetButtonIndex(pKey) < 0)
        return false;
    CExtBarButton* pTBB = pBar->GetButton(pBar->GetButtonIndex(pKey));
    const bool bShow = !pItem->GetCheck();
    pItem->SetCheck(bShow);
    if (bShow)
        pTBB->ModifyStyle(0, TBBS_HIDDEN_BIT);
    else
        pTBB->ModifyStyle(TBBS_HIDDEN_BIT, 0);
    pTBB->SetVisible(bShow);
    pBar->RecalcButtonPositions();
    pBar->Invalidate();
    pBar->UpdateWindow();
    pBar->SetDelayedRelayoutTimer();
    return true;
}

bool CExtToolControlBar::OnCustomizeMenuItem(CWnd* pWnd, LPVOID pItemData)
{
    // A customize site of this toolkit takes no menu items: the item is only checked.
    CExtPopupMenuWnd::MENUITEMDATA* pItem = reinterpret_cast<CExtPopupMenuWnd::MENUITEMDATA*>(pItemData);
    if (pWnd == NULL || pItem == NULL || pItem->m_pCbItemClick != NULL || pItem->GetCmdID() != 30213)
        return false;
    CExtCustomizeSite::GetCustomizeSite(pWnd->GetSafeHwnd());
    return false;
}

// ---- help mode --------------------------------------------------------------------------

int CExtToolControlBar::WaitForHelpCommand(CExtControlBar* pBar)
{
    static bool s_bInLoop = false;
    if (pBar == NULL || pBar->m_pDockSite == NULL || !pBar->m_pDockSite->m_bHelpMode || s_bInLoop)
        return -3;
    s_bInLoop = true;
    const HWND hWndBar = pBar->GetSafeHwnd();
    CFrameWnd* pSite = pBar->m_pDockSite;
    const HWND hWndSite = pSite->GetSafeHwnd();
    int nResult = -3;
    for (;;)
    {
        if (!::IsWindow(hWndBar) || !::IsWindow(hWndSite) || !pSite->m_bHelpMode)
            break;
        MSG msg;
        if (!::PeekMessage(&msg, NULL, 0, 0, PM_NOREMOVE))
        {
            ::WaitMessage();
            continue;
        }
        CExtControlBar* pHitBar = DYNAMIC_DOWNCAST(CExtControlBar, CWnd::FromHandlePermanent(msg.hwnd));
        if (msg.message == WM_LBUTTONDOWN && pHitBar != NULL)
        {
            const int nHelp = pHitBar->OnHelpHitTestBar(CPoint(GET_X_LPARAM(msg.lParam), GET_Y_LPARAM(msg.lParam)));
            if (nHelp > 0)
            {
                ::PeekMessage(&msg, NULL, msg.message, msg.message, PM_REMOVE);
                nResult = nHelp;
                break;
            }
        }
        if (msg.message == WM_MOUSEMOVE && pHitBar != NULL)
        {
            CExtToolControlBar* pTool = DYNAMIC_DOWNCAST(CExtToolControlBar, pHitBar);
            if (pTool != NULL &&
                pTool->ProcessMouseMove((UINT)msg.wParam, CPoint(GET_X_LPARAM(msg.lParam), GET_Y_LPARAM(msg.lParam))))
            {
                ::PeekMessage(&msg, NULL, msg.message, msg.message, PM_REMOVE);
                continue;
            }
        }
        if (msg.message == WM_COMMAND && (HIWORD(msg.wParam) == 0 || HIWORD(msg.wParam) == 1))
        {
            ::PeekMessage(&msg, NULL, msg.message, msg.message, PM_REMOVE);
            nResult = (int)LOWORD(msg.wParam);
            break;
        }
        if (msg.message == WM_SYSCOMMAND)
        {
            ::PeekMessage(&msg, NULL, msg.message, msg.message, PM_REMOVE);
            const UINT nID = (UINT)msg.wParam & 0xFFF0;
            switch (nID)
            {
            case 0xF000: case 0xF010: case 0xF020: case 0xF030: case 0xF040:
            case 0xF050: case 0xF060: case 0xF120: case 0xF130:
                nResult = (int)(((nID - 0xF000) >> 4) + 0x1EF00);
                break;
            default:
                nResult = (int)msg.wParam;
                break;
            }
            break;
        }
        CWinThread* pThread = AfxGetThread();
        if (pThread == NULL || !pThread->PumpMessage())
            break;
    }
    s_bInLoop = false;
    return nResult;
}
