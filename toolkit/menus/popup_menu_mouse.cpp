// The mouse rules of a tracking menu: what moving over an item, the expand, tear-off and
// scroll areas, and pressing or releasing a button there do; a point outside the menu is
// handed to its parent menu.
#include "toolkit/menus/popup_menu_wnd.h"

typedef CExtPopupMenuWnd::MENUITEMDATA MENUITEMDATA;


// The in-place edit of one of this menu's items lies under the point.
static int InplaceEditUnderPoint(CExtPopupMenuWnd* pMenu, const CPoint& ptClient)
{
    CPoint pt(ptClient);
    pMenu->ClientToScreen(&pt);
    HWND hWndUnder = ::WindowFromPoint(pt);
    if (hWndUnder == NULL || hWndUnder == pMenu->GetSafeHwnd() || !::IsChild(pMenu->GetSafeHwnd(), hWndUnder))
        return -1;
    return pMenu->FindInplaceEditItem(hWndUnder);
}

bool CExtPopupMenuWnd::IsPointOnCombinedOwnerPart(const CPoint& ptClient)
{
    if (m_pParentMenu != NULL || (m_nPbwFlags & __PBW_FLAG_COMBINED) == 0 || GetSafeHwnd() == NULL)
        return false;
    CPoint pt(ptClient);
    ClientToScreen(&pt);
    return m_rcWndArea.PtInRect(pt) != FALSE;
}

bool CExtPopupMenuWnd::OnMouseMoveTracked(UINT nMsg, CPoint ptClient, bool& bNoEat)
{
    if (!IsInputReady())
        return false;
    const int nEditItem = InplaceEditUnderPoint(this, ptClient);
    if (nEditItem >= 0)
    {
        if (nEditItem != m_nCurIndex)
            SelectItem(nEditItem, false, true, true);
        bNoEat = true;
        return false;
    }
    if (FindInplaceEditItem(::GetFocus()) >= 0)
        return false;
    if (!IsClientPointOnWindow(ptClient))
    {
        if (m_pParentMenu != NULL && m_pParentMenu->GetSafeHwnd() != NULL)
        {
            CPoint pt(ptClient);
            ClientToScreen(&pt);
            m_pParentMenu->ScreenToClient(&pt);
            HWND hWnd = m_hWnd;
            if (m_pParentMenu->OnMouseMoveTracked(nMsg, pt, bNoEat))
            {
                m_nMouseItem = -1;
                if (bNoEat)
                    return false;
                if (::IsWindow(hWnd) && IsWindowVisible() && m_pParentMenu->m_nCurIndex >= 0 &&
                    m_pParentMenu->m_items.ElementAt(m_pParentMenu->m_nCurIndex).m_pPopup != this)
                    DestroyMenuWindow(false);
                return true;
            }
        }
        if (m_nCurIndex >= 0 && m_nCurIndex < ItemGetCount() && m_nMouseItem >= 0 &&
            g_PopupTrackingSite.GetCurrentPopup() == this)
        {
            MENUITEMDATA& mi = m_items.ElementAt(m_nCurIndex);
            const bool bSubHasSelection = mi.IsPopup() && mi.m_pPopup != NULL &&
                                          mi.m_pPopup->GetSafeHwnd() != NULL && mi.m_pPopup->m_nCurIndex >= 0;
            if (!bSubHasSelection)
                DeselectCurrentItem(true, true);
        }
        m_nMouseItem = -1;
        return false;
    }
    const int nHit = HitTest(ptClient);
    if (nHit == IDX_EXPAND)
    {
        DeselectCurrentItem(true, true);
        if (g_bExpandOnHover && GetSafeHwnd() != NULL)
        {
            ActivateCurrentPopup();
            if (m_nExpandCounter == 0)
            {
                ::SetTimer(m_hWnd, ID_TIMER_EXPAND, 30, NULL);
                m_nExpandCounter = 1;
            }
        }
        return false;
    }
    if (nHit == IDX_TEAROFF)
    {
        DeselectCurrentItem(true, false);
        if (GetSafeHwnd() == NULL)
            return false;
        ActivateCurrentPopup();
        ::SetCursor(::LoadCursor(NULL, IDC_SIZEALL));
        if (g_bShowMenuTips && g_PopupTrackingSite.GetCurrentPopup() == this &&
            (m_nMenuFlags & __MF_TIP_SUPPRESSED) == 0)
        {
            CRect rcCaption(m_rcTearOff);
            ClientToScreen(&rcCaption);
            m_wndMenuTip.SetText(stat_GetTearOffCaptionTip());
            m_wndMenuTip.Show(this, rcCaption);
        }
        return false;
    }
    if (nHit == IDX_SCROLL_TOP || nHit == IDX_SCROLL_BOTTOM)
    {
        if (m_nCurIndex != nHit)
            StartScrolling(nHit);
        return true;
    }
    if (nHit < 0)
        return false;
    if (!IsItemSelectable(nHit) || m_items.ElementAt(nHit).IsSeparator())
    {
        DeselectCurrentItem(true, true);
        if (GetSafeHwnd() != NULL)
            ActivateCurrentPopup();
        return false;
    }
    if (nHit == m_nCurIndex)
        return false;
    OnHoverItem(-1);
    ActivateCurrentPopup();
    SelectItem(nHit, false, true, true);
    if (GetSafeHwnd() == NULL)
        return true;
    m_nMouseItem = nHit;
    MENUITEMDATA& mi = m_items.ElementAt(nHit);
    if (!mi.IsPopup())
        ShowItemTip(nHit);
    else
    {
        HideMenuTip(false);
        if (mi.m_pPopup == NULL || mi.m_pPopup->GetSafeHwnd() == NULL || !mi.m_pPopup->IsWindowVisible())
            OnHoverItem(nHit);
    }
    return true;
}

bool CExtPopupMenuWnd::OnMouseClickTracked(UINT nMsg, CPoint ptClient, bool& bNoEat)
{
    if (!IsInputReady())
        return false;
    const int nEditItem = InplaceEditUnderPoint(this, ptClient);
    if (nEditItem >= 0)
    {
        if (nEditItem != m_nCurIndex)
            SelectItem(nEditItem, false, true, false);
        bNoEat = true;
        return false;
    }
    const bool bRelease = nMsg == WM_LBUTTONUP || nMsg == WM_NCLBUTTONUP;
    const bool bPress = nMsg == WM_LBUTTONDOWN || nMsg == WM_RBUTTONDOWN || nMsg == WM_MBUTTONDOWN ||
                        nMsg == WM_NCLBUTTONDOWN || nMsg == WM_NCRBUTTONDOWN || nMsg == WM_NCMBUTTONDOWN;
    if (!IsClientPointOnWindow(ptClient))
    {
        if (!bRelease)
            return false;
        CPoint ptScreen(ptClient);
        ClientToScreen(&ptScreen);
        if (m_wndMenuTip.GetSafeHwnd() != NULL && m_wndMenuTip.IsWindowVisible() &&
            ::WindowFromPoint(ptScreen) == m_wndMenuTip.GetSafeHwnd())
            return true;
        if (m_pParentMenu != NULL && m_pParentMenu->GetSafeHwnd() != NULL)
        {
            CPoint pt(ptScreen);
            m_pParentMenu->ScreenToClient(&pt);
            if (!m_pParentMenu->OnMouseClickTracked(nMsg, pt, bNoEat) || bNoEat)
                return false;
            if (GetSafeHwnd() != NULL)
                DestroyMenuWindow(false);
            return true;
        }
        if (nMsg == WM_LBUTTONUP && g_PopupBarServices.IsButtonMenuTracking())
        {
            CRect rcButton;
            if (g_PopupBarServices.GetTrackedButtonRect(&rcButton) && rcButton.PtInRect(ptScreen))
                return true;  // the release of the press that opened this menu
        }
        DestroyMenuWindow(false);
        return false;
    }
    const int nHit = HitTest(ptClient);
    if (nHit == IDX_TEAROFF)
    {
        if (!bRelease)
            StartTearOff();
        return true;
    }
    if (bPress)
    {
        if (nHit == IDX_SCROLL_TOP || nHit == IDX_SCROLL_BOTTOM)
            return StartScrolling(nHit);
        if (nHit >= 0)
            return true;
        if (IsPointOnCombinedOwnerPart(ptClient))
        {
            DestroyMenuWindow(false);
            return true;
        }
        return false;
    }
    if (!bRelease)
        return nHit >= 0;
    if (nHit == IDX_SCROLL_TOP || nHit == IDX_SCROLL_BOTTOM)
        return true;
    if (nHit == IDX_EXPAND)
    {
        if (HasExpandArea() && !IsExpanded())
            ExpandMenu();
        return true;
    }
    if (nHit < 0)
    {
        if (nMsg == WM_NCLBUTTONUP)
        {
            DestroyMenuWindow(false);
            return false;
        }
        if (IsPointOnCombinedOwnerPart(ptClient))
        {
            DestroyMenuWindow(false);
            return true;
        }
        return false;
    }
    MENUITEMDATA& mi = m_items.ElementAt(nHit);
    if (!IsItemSelectable(nHit) || mi.IsSeparator())
    {
        DeselectCurrentItem(true, true);
        if (GetSafeHwnd() != NULL)
            ActivateCurrentPopup();
        return true;
    }
    if (mi.IsInplaceEdit() && !mi.IsPopup())
    {
        if (!IsContextHelpMode())
        {
            ActivateCurrentPopup();
            SelectItem(nHit, false, true, false);
            if (GetSafeHwnd() != NULL && mi.IsInplaceEditActive())
                ShowInplaceEdit(nHit);
        }
        return true;
    }
    if (mi.IsPopup())
    {
        if (mi.m_pPopup != NULL && mi.m_pPopup->GetSafeHwnd() != NULL && mi.m_pPopup->IsWindowVisible())
            return false;
        if (mi.IsExecutable())
        {
            CRect rcItem;
            GetItemRect(nHit, rcItem, true);
            const bool bOnArrow = IsLayoutRTL() ? (ptClient.x < rcItem.left + 16) : (ptClient.x >= rcItem.right - 16);
            if (!bOnArrow)
            {
                ExecuteItem(nHit);
                return true;
            }
        }
        SelectItem(nHit, true, true, false);
        return true;
    }
    ExecuteItem(nHit);
    return true;
}
