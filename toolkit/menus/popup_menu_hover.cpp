// The timers of a tracking menu: the delayed sub-menu of a hovered item, scrolling while
// the pointer rests on a scroll area, and expanding after it rested on the expand area;
// and expanding itself, which re-places the window for its new size.
#include "toolkit/menus/popup_menu_wnd.h"

#include <algorithm>

bool CExtPopupMenuWnd::g_bScrollAcceleration = false;
int CExtPopupMenuWnd::g_nScrollAccelerationPeriod = 500;
int CExtPopupMenuWnd::g_nScrollAccelerationPercent = 50;
int CExtPopupMenuWnd::g_nScrollStepMax = 400;

void CExtPopupMenuWnd::OnTimer(UINT_PTR nIDEvent)
{
    switch (nIDEvent)
    {
    case ID_TIMER_DELAYED_SUBMENU: OnHoverTimer(); return;
    case ID_TIMER_SCROLLING: OnScrollTimer(); return;
    case ID_TIMER_EXPAND: OnExpandTimer(); return;
    default: CExtPopupBaseWnd::OnTimer(nIDEvent); return;
    }
}

// Switching applications closes the menu, whichever way the activation goes.
void CExtPopupMenuWnd::OnActivateApp(BOOL, DWORD) { DestroyMenuWindow(false); }

void CExtPopupMenuWnd::OnHoverItem(int nIndex)
{
    if (m_nHoverIndex >= 0 && m_nHoverIndex != nIndex && GetSafeHwnd() != NULL)
        ::KillTimer(m_hWnd, ID_TIMER_DELAYED_SUBMENU);
    if (nIndex < 0)
    {
        m_nHoverIndex = -1;
        return;
    }
    m_nHoverIndex = nIndex;
    if (!NotifyItemCovering(ITEMCOVERINGNOTIFICATION::__EICN_DELAY, nIndex))
        return;
    if (GetSafeHwnd() != NULL)
        ::SetTimer(m_hWnd, ID_TIMER_DELAYED_SUBMENU, 500, NULL);
}

void CExtPopupMenuWnd::OnHoverTimer()
{
    if (!IsAnimationDone() && GetAnimationKind() != __AT_NONE && GetAnimationKind() != __AT_CONTENT_DISPLAY)
        return;
    ::KillTimer(m_hWnd, ID_TIMER_DELAYED_SUBMENU);
    const int nHover = m_nHoverIndex;
    m_nHoverIndex = -1;
    if (g_PopupTrackingSite.IsShutdownMode() || nHover < 0 || nHover >= ItemGetCount())
        return;
    CPoint pt;
    if (!::GetCursorPos(&pt))
        return;
    ScreenToClient(&pt);
    CRect rc;
    GetItemRect(nHover, rc, true);
    if (!rc.PtInRect(pt))
        return;
    SelectItem(nHover, true, true, false);
}

bool CExtPopupMenuWnd::StartScrolling(int nPseudoItem)
{
    if ((nPseudoItem != IDX_SCROLL_TOP && nPseudoItem != IDX_SCROLL_BOTTOM) || GetSafeHwnd() == NULL)
        return false;
    OnHoverItem(-1);
    SelectItem(-1, false, false, false);
    HideMenuTip(false);
    m_nCurIndex = nPseudoItem;
    Invalidate(FALSE);
    m_nScrollStep = 5;
    m_nScrollAccelTime = 0;
    ::SetTimer(m_hWnd, ID_TIMER_SCROLLING, 50, NULL);
    if (!IsUntrackedMode())
        ActivateCurrentPopup();
    return true;
}

void CExtPopupMenuWnd::OnScrollTimer()
{
    OnHoverItem(-1);
    if (m_nCurIndex >= 0)
        SelectItem(-1, false, true, false);
    CPoint pt(-32000, -32000);
    if (::GetCursorPos(&pt))
        ScreenToClient(&pt);
    int nDelta = 0;
    m_nScrollStep = std::min(m_nScrollStep, g_nScrollStepMax);
    CRect rcUp, rcDown;
    GetItemRect(IDX_SCROLL_TOP, rcUp);
    GetItemRect(IDX_SCROLL_BOTTOM, rcDown);
    if (rcUp.PtInRect(pt))
        nDelta = m_nScrollStep;
    else if (rcDown.PtInRect(pt))
        nDelta = -m_nScrollStep;
    const int nLimit = GetScrollLimit();
    int nPos = m_nScrollPos + nDelta;
    bool bClamped = false;
    if (nPos > 0)
    {
        nPos = 0;
        bClamped = true;
    }
    else if (nPos < nLimit)
    {
        nPos = nLimit;
        bClamped = true;
    }
    if (!bClamped && nDelta != 0 && g_bScrollAcceleration && g_nScrollAccelerationPeriod >= 0 &&
        g_nScrollAccelerationPercent >= 1)
    {
        if (m_nScrollAccelTime < g_nScrollAccelerationPeriod)
            m_nScrollAccelTime += 50;
        else
        {
            m_nScrollAccelTime = 0;
            const int nScaled = ::MulDiv(m_nScrollStep, 100, 5);
            m_nScrollStep = ::MulDiv(nScaled + ::MulDiv(nScaled, g_nScrollAccelerationPercent, 100), 5, 100);
        }
    }
    m_nScrollPos = nPos;
    m_nScrollingDelta = nDelta;
    if (bClamped || nDelta == 0)
    {
        ::KillTimer(m_hWnd, ID_TIMER_SCROLLING);
        m_nScrollStep = 5;
        m_nScrollAccelTime = 0;
        m_nScrollingDelta = 0;
        if (m_nCurIndex == IDX_SCROLL_TOP || m_nCurIndex == IDX_SCROLL_BOTTOM)
            m_nCurIndex = -1;
    }
    InvalidateItemRects();
    MoveInplaceEdits();
    Invalidate(FALSE);
}

void CExtPopupMenuWnd::OnExpandTimer()
{
    if (m_nExpandCounter < 1500)
    {
        if (m_nExpandCounter < 2)
            m_nExpandCounter = 0;
        m_nExpandCounter += 50;
        return;
    }
    ::KillTimer(m_hWnd, ID_TIMER_EXPAND);
    m_nExpandCounter = 0;
    if (!HasExpandArea() || IsExpanded() || g_PopupTrackingSite.IsShutdownMode())
        return;
    CPoint pt;
    if (!::GetCursorPos(&pt))
        return;
    ScreenToClient(&pt);
    if (m_rcExpand.PtInRect(pt))
        ExpandMenu();
}

void CExtPopupMenuWnd::ExpandMenu()
{
    OnHoverItem(-1);
    HideMenuTip(false);
    HWND hWnd = GetSafeHwnd();
    if (hWnd == NULL || !::IsWindow(hWnd) || IsMenuTipVisible())
        return;
    m_nMenuFlags |= __MF_EXPANDED;
    CSize sizeOld;
    CalcMenuSize(sizeOld);
    RecalcLayout();
    CSize sizeNew;
    CalcMenuSize(sizeNew);
    if (sizeNew == sizeOld)
    {
        RecalcServiceAreas();
        Invalidate(FALSE);
        UpdateWindow();
    }
    else
    {
        ::SetWindowRgn(hWnd, NULL, FALSE);
        ShowWindow(SW_HIDE);
        ReleaseAnimationResources();
        if (!::IsWindow(hWnd))
            return;
        m_nMenuFlags &= ~__MF_SCROLLABLE;
        m_nScrollPos = 0;
        InvalidateItemRects();
        CRect rcWnd;
        CalcPlacementRect(rcWnd);
        if (rcWnd.IsRectEmpty() || !::IsWindow(hWnd))
            return;
        if (m_rgnCombined.GetSafeHandle() != NULL)
        {
            HRGN hRgn = ::CreateRectRgn(0, 0, 0, 0);
            ::CombineRgn(hRgn, (HRGN)m_rgnCombined.GetSafeHandle(), NULL, RGN_COPY);
            ::SetWindowRgn(hWnd, hRgn, FALSE);
        }
        SetSoundEvent(1);
        SetAnimationKind(g_bExpandAnimation ? __AT_CONTENT_EXPAND : __AT_CONTENT_DISPLAY);
        AnimationStart();
        if (!::IsWindow(hWnd))
            return;
        if (GetAnimationKind() == __AT_NONE)
        {
            SetAnimationKind(__AT_CONTENT_DISPLAY);
            AnimationStart();
            if (!::IsWindow(hWnd))
                return;
        }
        RecalcServiceAreas();
        ::SetWindowPos(hWnd, NULL, rcWnd.left, rcWnd.top, rcWnd.Width(), rcWnd.Height(),
                       SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW | SWP_HIDEWINDOW);
        CaptureShadowBeforeShow();
        ::SetWindowPos(hWnd, NULL, 0, 0, 0, 0, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
    }
    if (m_hWndCmdReceiver != NULL && ::IsWindow(m_hWndCmdReceiver))
        ::SendMessage(m_hWndCmdReceiver, g_nMsgNotifyMenuExpanded, 0, (LPARAM)this);
}
