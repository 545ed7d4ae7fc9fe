// The toolbar button's drop-down menu: opening it under (or beside) the button, tracking
// it with the bar marked as tracking, taking over the command chosen from it, and the
// button's own place in a popup menu (the chevron's menu of hidden buttons). Every step
// after a menu's own message loop checks the bar's window again: the chosen command may
// have destroyed the bar.
#include "toolkit/bars/bar_button.h"
#include "framework/afxres.h"
#include "toolkit/core/cmd_manager.h"
#include "toolkit/core/cmd_item.h"
#include "toolkit/core/cmd_icon.h"
#include "toolkit/menus/popup_menu_wnd.h"

UINT CExtBarButton::GetTrackPopupPlacement() const
{
    if (m_pBar == NULL)
        return CExtPopupMenuWnd::TMF_ALIGN_BELOW;
    if (m_pBar->GetParentFrame() == NULL || m_pBar->m_pDockSite == NULL)
    {
        if (m_pBar->IsDockedAtRight())
            return CExtPopupMenuWnd::TMF_ALIGN_LEFT_OF;
        if (m_pBar->IsDockedAtLeft())
            return CExtPopupMenuWnd::TMF_ALIGN_RIGHT_OF;
        if (m_pBar->IsDockedAtBottom())
            return CExtPopupMenuWnd::TMF_ALIGN_ABOVE;
        return CExtPopupMenuWnd::TMF_ALIGN_BELOW;
    }
    switch (m_pBar->GetDockBarCtrlID())
    {
    case AFX_IDW_DOCKBAR_LEFT:
        return CExtPopupMenuWnd::TMF_ALIGN_RIGHT_OF;
    case AFX_IDW_DOCKBAR_RIGHT:
        return CExtPopupMenuWnd::TMF_ALIGN_LEFT_OF;
    case AFX_IDW_DOCKBAR_BOTTOM:
        return CExtPopupMenuWnd::TMF_ALIGN_ABOVE;
    default:
        return CExtPopupMenuWnd::TMF_ALIGN_BELOW;
    }
}

UINT CExtBarButton::OnTrackPopup(CPoint point, bool bSelectAny, bool bNoAnimation)
{
    if (IsDisabled() && !IsAbleToTrackMenu())
        return UINT(-1);
    if (m_pCtrl != NULL && m_pCtrl->GetSafeHwnd() != NULL)
    {
        m_pCtrl->SendMessage(CExtToolControlBar::g_nMsgContinueTrackMenu, (WPARAM)this, bSelectAny ? 1 : 0);
        return UINT(-1);
    }
    CExtToolControlBar* pBar = GetBar();
    if (!HasPopup(false) || pBar == NULL || pBar->GetSafeHwnd() == NULL)
        return UINT(-1);
    if (CExtToolControlBar::g_bButtonMenuTracking && IsTracked())
        return UINT(-1);
    bool bWasTracking = CExtToolControlBar::g_bButtonMenuTracking;
    CExtToolControlBar::CancelAllButtonMenuTracking();
    BringFloatingBarForward(pBar);
    CWnd* pTarget = GetCmdTargetWnd();
    HWND hWndTarget = pTarget->GetSafeHwnd();
    CExtPopupMenuWnd* pPopup = new CExtPopupMenuWnd;
    bool bBuilt = false;
    if (m_pBasicNode != NULL)
        bBuilt = pPopup->BuildFromCmdTree(hWndTarget, m_pBasicNode, true);
    else if (m_hMenu != NULL)
    {
        CMenu menu;
        menu.Attach(m_hMenu);
        bBuilt = pPopup->LoadMenu(hWndTarget, &menu, IsSubMenuUsed(), true, false);
        menu.Detach();
    }
    CExtToolControlBar::g_bButtonMenuTracking = bWasTracking;
    if (!bBuilt)
    {
        delete pPopup;
        return UINT(-1);
    }
    CRect rcButton;
    const UINT nMenuFlags =
        GetTrackPopupPlacement() | CExtPopupMenuWnd::TMF_COMBINE_BY_PM | CExtPopupMenuWnd::TMF_OWNER_DRAW;
    const UINT nFlags = PlacePopupOnScreen(pBar, GetRect(), point, rcButton, nMenuFlags, bSelectAny, bNoAnimation);
    HWND hWndBar = pBar->GetSafeHwnd();
    if (IsAutoChangeID() && !CExtControlBar::IsFrameInHelpMode(pBar))
    {
        CExtToolControlBar::g_bButtonMenuTracking = true;
        pBar->SetMenuTrackingButton(pBar->GetButtonIndex(this));
        SetTracked();
        UINT nResultCmdID = 0;
        // The chosen command comes back here: it becomes the button's own before the
        // button delivers it.
        const UINT nSyncFlags = nFlags | CExtPopupMenuWnd::TMF_SYNC | CExtPopupMenuWnd::TMF_NO_DELIVERY;
        if (!pPopup->TrackPopupMenu(nSyncFlags, point.x, point.y, &rcButton, pBar,
                                    CExtToolControlBar::stat_PaintCombinedButton, &nResultCmdID, true))
        {
            // A menu that could not be shown is not deleted by anybody else.
            delete pPopup;
            if (::IsWindow(hWndBar))
                CExtToolControlBar::CancelAllButtonMenuTracking();
            return UINT(-1);
        }
        if (!::IsWindow(hWndBar))
            return UINT(-1);
        pBar->SetMenuTrackingButton(-1);
        ClearTracked();
        ModifyStyle(0, TBBS_PRESSED);
        pBar->Invalidate();
        if (nResultCmdID != 0)
        {
            SetCmdID(nResultCmdID, true, false);
            SyncNodeTexts();
            CFrameWnd* pFrame = pBar->GetParentFrame();
            if (pFrame != NULL)
                pFrame->RecalcLayout(TRUE);
            else
                pBar->SetTimer(CExtToolControlBar::__TIMER_ID_DELAYED_RELAYOUT, 1, NULL);
            OnDeliverCmd();
            if (::IsWindow(hWndBar))
                Redraw(true);
        }
        return UINT(-1);
    }
    // The open popup hands Left and Right to the bar only while a bar button's menu is
    // known to track. The popup listens to the keyboard from inside its tracking call,
    // which also pumps the messages of the menu it replaces: the bar is marked as
    // tracking before that call, so a key typed meanwhile is not lost.
    TrackButtonMenu(pBar, pPopup, nFlags, point, rcButton, true);
    return UINT(-1);
}

void CExtBarButton::BringFloatingBarForward(CExtToolControlBar* pBar)
{
    if (!pBar->IsFloating())
        return;
    CWnd* pTop = pBar->GetTopLevelParent();
    if (pTop != NULL)
        pTop->SetActiveWindow();
    CFrameWnd* pFrame = pBar->GetParentFrame();
    if (pFrame != NULL)
        pFrame->BringWindowToTop();
}

UINT CExtBarButton::PlacePopupOnScreen(CExtToolControlBar* pBar, const CRect& rcOnBar, CPoint& point, CRect& rcButton,
                                       UINT nFlags, bool bSelectAny, bool bNoAnimation)
{
    rcButton = rcOnBar;
    pBar->ClientToScreen(&rcButton);
    pBar->ClientToScreen(&point);
    if (bSelectAny)
        nFlags |= CExtPopupMenuWnd::TMF_SELECT_ANY;
    if (CExtToolControlBar::g_bMenuTrackingExpanded)
        nFlags |= CExtPopupMenuWnd::TMF_EXPANDED;
    if (bNoAnimation)
        nFlags |= CExtPopupMenuWnd::TMF_NO_ANIMATION;
    return nFlags;
}

void CExtBarButton::TrackButtonMenu(CExtToolControlBar* pBar, CExtPopupMenuWnd* pPopup, UINT nFlags,
                                    const CPoint& point, const CRect& rcButton, bool bMarkBeforeTrack)
{
    const HWND hWndBar = pBar->GetSafeHwnd();
    pBar->SetMenuTrackingButton(pBar->GetButtonIndex(this));
    if (bMarkBeforeTrack)
        CExtToolControlBar::g_bButtonMenuTracking = true;
    if (!pPopup->TrackPopupMenu(nFlags, point.x, point.y, &rcButton, pBar,
                                CExtToolControlBar::stat_PaintCombinedButton, NULL, true))
    {
        delete pPopup;
        CExtToolControlBar::CancelAllButtonMenuTracking();
        return;
    }
    CExtToolControlBar::g_bButtonMenuTracking = true;
    if (::IsWindow(hWndBar))
    {
        SetTracked();
        pBar->SetMenuTrackingButton(pBar->GetButtonIndex(this));
    }
}

bool CExtBarButton::PutToPopupMenu(CExtPopupMenuWnd* pPopup)
{
    if (pPopup == NULL)
        return false;
    if (m_pCtrl != NULL && m_pCtrl->GetSafeHwnd() != NULL &&
        m_pCtrl->SendMessage(CExtControlBar::g_nMsgPutToPopupMenu, (WPARAM)pPopup, 0) != 0)
        return true;
    LPCTSTR sProfile = ProfileName();
    CWnd* pTarget = GetCmdTargetWnd();
    HWND hWndTarget = pTarget->GetSafeHwnd();
    bool bFromBar = (pPopup->GetTrackFlags() & CExtPopupMenuWnd::TMF_PALETTE) != 0;
    if (HasPopup(false))
    {
        CString sText;
        CExtCmdItem* pItem = CmdItem();
        if (pItem != NULL)
            sText = pItem->m_sMenuText.IsEmpty() ? pItem->m_sToolbarText : pItem->m_sMenuText;
        CExtCmdIcon icon;
        if (sProfile != NULL)
            icon = g_CommandManager->CmdGetIcon(sProfile, m_nCmdID);
        int nPos = pPopup->ItemGetCount();
        if (!pPopup->ItemInsert(CExtPopupMenuWnd::TYPE_POPUP, -1, sText, icon, hWndTarget))
            return false;
        CExtPopupMenuWnd* pSub = pPopup->ItemGetInfo(nPos).GetPopup();
        if (pSub != NULL)
        {
            if (m_pBasicNode != NULL)
                pSub->BuildFromCmdTree(hWndTarget, m_pBasicNode, false);
            else if (m_hMenu != NULL)
            {
                CMenu menu;
                menu.Attach(m_hMenu);
                pSub->LoadMenu(hWndTarget, &menu, IsSubMenuUsed(), false, false);
                menu.Detach();
            }
        }
        if (bFromBar)
            pPopup->ItemFlagSet(nPos, true);
        return true;
    }
    int nPos = pPopup->ItemGetCount();
    if (bFromBar && !IsSeparator())
    {
        CString sText = GetText();
        if (!pPopup->ItemInsertCommand(m_nEffectiveCmdID, -1, sText.IsEmpty() ? NULL : (LPCTSTR)sText, NULL,
                                       GetIcon(), 0, hWndTarget))
            return false;
        CExtPopupMenuWnd::MENUITEMDATA& mi = pPopup->ItemGetInfo(nPos);
        mi.Enable(!IsDisabled());
        CExtCmdItem* pItem = CmdItem();
        if (pItem != NULL && !pItem->m_sTipTool.IsEmpty())
            mi.m_sTipText = pItem->m_sTipTool;
        return true;
    }
    if (!pPopup->ItemInsert(IsSeparator() ? CExtPopupMenuWnd::TYPE_SEPARATOR : m_nEffectiveCmdID))
        return false;
    return true;
}
