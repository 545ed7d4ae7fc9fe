// The grid base window's hover: what the mouse is over, the hover highlight it asks the
// painting for, the cell tip and the content-expand popup (at once or after a delay, per
// band), the timers that watch them, and the focus, activation and visibility changes
// that end them. The base keeps the records and the timers; the derived grids decide what
// a popup shows.
#include "toolkit/grid/grid_base_wnd.h"
#include "toolkit/menus/popup_menu_wnd.h"
#include "toolkit/menus/popup_menu_tip_wnd.h"

namespace {

// The timers, by their place in the id list: hover poll, popup delay, popup watch and
// one kept for the cell buttons.
enum : UINT
{
    HOVER_POLL_PERIOD = 10,
    POPUP_DELAY = 200,
    POPUP_WATCH_PERIOD = 20,
};

// The popup bits (at once, after the delay) that apply to the band of a record; 0 for
// none and for corners.
void PopupBitsOf(const CExtGridHitTestInfo& hti, DWORD& dwNow, DWORD& dwDelayed)
{
    dwNow = dwDelayed = 0;
    if (hti.IsInner())
    {
        dwNow = CExtGridBaseWnd::GRID_EX_EXPAND_NOW_INNER;
        dwDelayed = CExtGridBaseWnd::GRID_EX_EXPAND_DELAY_INNER;
        return;
    }
    if (!hti.IsOuter())
        return;
    const int nRowType = hti.GetRowType(), nColType = hti.GetColumnType();
    if (nRowType < 0)
        dwNow = CExtGridBaseWnd::GRID_EX_EXPAND_NOW_TOP;
    else if (nRowType > 0)
        dwNow = CExtGridBaseWnd::GRID_EX_EXPAND_NOW_BOTTOM;
    else if (nColType < 0)
        dwNow = CExtGridBaseWnd::GRID_EX_EXPAND_NOW_LEFT;
    else if (nColType > 0)
        dwNow = CExtGridBaseWnd::GRID_EX_EXPAND_NOW_RIGHT;
    dwDelayed = dwNow << 4;
}

bool SameCell(const CExtGridHitTestInfo& left, const CExtGridHitTestInfo& right)
{
    return left.IsEqual(right, true, false, true);
}

}  // namespace

bool CExtGridBaseWnd::IsHoverSuppressed() { return false; }

bool CExtGridBaseWnd::OnContentExpandShow(HIT_TEST_INFO&) { return false; }

bool CExtGridBaseWnd::OnPaintItemContent(CExtContentExpandWnd::ITEM_PAINT_INFO&) { return false; }

bool CExtGridBaseWnd::OnPopupDelayStart(HIT_TEST_INFO&, UINT nDelay)
{
    if (nDelay == 0 || m_hWnd == NULL)
        return false;
    SetTimer(m_nTimerIds[1], nDelay, NULL);
    return true;
}

void CExtGridBaseWnd::ShowSharedTip(CExtPopupMenuTipWnd* pTipWnd, const RECT& rcExclude)
{
    if (pTipWnd != NULL)
        pTipWnd->Show(this, rcExclude);
}

void CExtGridBaseWnd::HidePopups(bool bTip, bool bContentExpand)
{
    if (bTip)
    {
        CExtPopupMenuTipWnd* pTip = GetSharedTipWnd();
        if (pTip != NULL && pTip->GetSafeHwnd() != NULL && ::IsWindowVisible(pTip->m_hWnd))
            pTip->Hide();
        if (m_wndToolTip.m_hWnd != NULL && m_hWnd != NULL)
            m_wndToolTip.DelTool(this, 1);
    }
    if (bContentExpand)
    {
        if (m_wndContentExpand.GetSafeHwnd() != NULL)
            m_wndContentExpand.Deactivate();
        m_htiExpanded = HIT_TEST_INFO(-1, -1);
    }
}

bool CExtGridBaseWnd::SharesParentWithActive()
{
    return CExtPopupMenuWnd::stat_TestWindowsShareParent(m_hWnd, ::GetActiveWindow(), true, true, true);
}

bool CExtGridBaseWnd::IsCursorOverOwnWindows(POINT ptScreen)
{
    HWND hWnd = ::WindowFromPoint(ptScreen);
    if (hWnd == NULL)
        return false;
    if (hWnd == m_hWnd || (m_wndToolTip.m_hWnd != NULL && hWnd == m_wndToolTip.m_hWnd))
        return true;
    // The popup may let the mouse through to what lies under it.
    HWND hWndPopup = m_wndContentExpand.GetSafeHwnd();
    if (hWndPopup != NULL)
    {
        RECT rc;
        if (hWnd == hWndPopup || (::IsWindowVisible(hWndPopup) && ::GetWindowRect(hWndPopup, &rc) &&
                                  ::PtInRect(&rc, ptScreen)))
            return true;
    }
    CExtPopupMenuTipWnd* pTip = GetSharedTipWnd();
    return pTip != NULL && pTip->GetSafeHwnd() != NULL && hWnd == pTip->m_hWnd;
}

void CExtGridBaseWnd::OnCancelTracking(bool bReleaseCapture)
{
    if (m_hWnd == NULL)
        return;
    for (int i = 0; i < 3; i++)
        KillTimer(m_nTimerIds[i]);
    HidePopups(true, true);
    if (!m_htiHover.IsEmpty())
    {
        const HIT_TEST_INFO htiHover = m_htiHover;
        OnHoverChanged(htiHover, htiHover, false, true);
        InvalidateHover(htiHover);
        m_htiHover = HIT_TEST_INFO(-1, -1);
        OnSetCursor(HIT_TEST_INFO());
    }
    if (bReleaseCapture && ::GetCapture() == m_hWnd)
        ::ReleaseCapture();
}

void CExtGridBaseWnd::OnHoverChanged(const HIT_TEST_INFO& htiOld, const HIT_TEST_INFO& htiNew, bool bEnter,
                                     bool bLeave)
{
    if (bLeave)
        HidePopups(true, true);
    // Entering repeats the leave of the same move: the work is done once.
    if (bEnter || (GetScrollItemStyleEx() & GRID_EX_HOVER_MASK) == 0 || SameCell(htiOld, htiNew))
        return;
    if (!htiOld.IsEmpty() && htiOld.IsValidRect())
    {
        InvalidateHover(htiOld);
        if (::GetCapture() == m_hWnd && m_nTrackingMode == __EGBWA_TRACKING_NONE)
            ::ReleaseCapture();
    }
    if (!htiNew.IsEmpty() && htiNew.IsValidRect())
    {
        InvalidateHover(htiNew);
        // Holding the mouse is how leaving the window is seen.
        if (::GetCapture() != m_hWnd && m_nTrackingMode == __EGBWA_TRACKING_NONE)
            ::SetCapture(m_hWnd);
    }
}

void CExtGridBaseWnd::InvalidateHover(const HIT_TEST_INFO& hti)
{
    const DWORD dwEx = GetScrollItemStyleEx();
    if ((dwEx & GRID_EX_HIGHLIGHT_MASK) == 0 || m_hWnd == NULL || hti.IsEmpty())
        return;
    RECT rcClient;
    ::GetClientRect(m_hWnd, &rcClient);
    if (dwEx & 0x0C)
    {
        RECT rc = {rcClient.left, hti.m_rcExtra.top, rcClient.right, hti.m_rcExtra.bottom};
        ::InvalidateRect(m_hWnd, &rc, FALSE);
    }
    if (dwEx & 0x30)
    {
        RECT rc = {hti.m_rcExtra.left, rcClient.top, hti.m_rcExtra.right, rcClient.bottom};
        ::InvalidateRect(m_hWnd, &rc, FALSE);
    }
    if ((dwEx & 0x3C) == 0 && (dwEx & (hti.IsInner() ? 0x40 : 0x80)) != 0)
        ::InvalidateRect(m_hWnd, &hti.m_rcExtra, FALSE);
}

bool CExtGridBaseWnd::OnHoverUpdate(const POINT* pPoint)
{
    if (IsHoverSuppressed() || m_hWnd == NULL || !::IsWindow(m_hWnd))
        return false;
    if (CExtPopupMenuWnd::IsMenuTracking())
    {
        // A menu owns the mouse now; look again once it has gone.
        SetTimer(m_nTimerIds[0], HOVER_POLL_PERIOD, NULL);
        return true;
    }
    if (!SharesParentWithActive())
    {
        OnCancelTracking(true);
        return true;
    }
    POINT pt;
    if (pPoint != NULL)
        pt = *pPoint;
    else if (!::GetCursorPos(&pt) || !::ScreenToClient(m_hWnd, &pt))
        return false;
    POINT ptScreen = pt;
    ::ClientToScreen(m_hWnd, &ptScreen);
    if (!IsCursorOverOwnWindows(ptScreen))
    {
        OnCancelTracking(true);
        return true;
    }
    const DWORD dwEx = GetScrollItemStyleEx();
    if ((dwEx & (GRID_EX_POPUP_MASK | GRID_EX_HOVER_MASK)) == 0)
        return false;
    HIT_TEST_INFO hti(pt);
    HitTest(hti);
    if (m_htiHover.IsEmpty() && hti.IsEmpty())
        return true;
    // The hover first: leaving a cell takes its popups along, so the popups of the new
    // cell start afresh below.
    const bool bHoverChanged = !SameCell(m_htiHover, hti);
    if (bHoverChanged)
    {
        const HIT_TEST_INFO htiOld = m_htiHover;
        OnHoverChanged(htiOld, hti, false, true);
        if ((hti.IsInner() && (dwEx & GRID_EX_HOVER_INNER)) || (hti.IsOuter() && (dwEx & GRID_EX_HOVER_OUTER)))
            OnHoverChanged(htiOld, hti, true, false);
        m_htiHover = hti;
    }
    // While the hover holds the mouse no WM_SETCURSOR comes: a cell edge must still show
    // its resize cursor.
    if (bHoverChanged || ::GetCapture() == m_hWnd)
    {
        HIT_TEST_INFO htiCursor(pt);
        HitTest(htiCursor, true, true);
        OnSetCursor(htiCursor);
    }
    if ((dwEx & GRID_EX_POPUP_MASK) != 0 && m_nTrackingMode == __EGBWA_TRACKING_NONE)
    {
        DWORD dwNow = 0, dwDelayed = 0;
        PopupBitsOf(hti, dwNow, dwDelayed);
        if (hti.IsEmpty())
            HidePopups(true, true);
        else if (!SameCell(hti, m_htiExpanded))
        {
            if (dwEx & dwDelayed)
            {
                HidePopups(true, true);
                m_htiExpanded = hti;
                OnPopupDelayStart(m_htiExpanded, POPUP_DELAY);
            }
            else if (dwEx & dwNow)
            {
                HidePopups(true, true);
                if (OnContentExpandShow(hti))
                {
                    m_htiExpanded = hti;
                    if (m_wndContentExpand.GetSafeHwnd() != NULL)
                        SetTimer(m_nTimerIds[2], POPUP_WATCH_PERIOD, NULL);
                }
            }
        }
    }
    return true;
}

// ---- timers ---------------------------------------------------------------------------

LRESULT CExtGridBaseWnd::OnTimerMsg(WPARAM wParam, LPARAM)
{
    const UINT nId = (UINT)wParam;
    if (nId == m_nTimerIds[0])
    {
        if (!CExtPopupMenuWnd::IsMenuTracking())
        {
            KillTimer(nId);
            OnHoverUpdate(NULL);
        }
        return 0;
    }
    if (nId == m_nTimerIds[1])
    {
        KillTimer(m_nTimerIds[1]);
        KillTimer(m_nTimerIds[2]);
        POINT pt;
        const bool bCanShow = (GetScrollItemStyleEx() & GRID_EX_POPUP_MASK) != 0 &&
                              m_nTrackingMode == __EGBWA_TRACKING_NONE && ::GetAsyncKeyState(VK_MENU) >= 0 &&
                              ::GetAsyncKeyState(VK_CONTROL) >= 0 && ::GetAsyncKeyState(VK_SHIFT) >= 0 &&
                              ::GetAsyncKeyState(VK_LBUTTON) >= 0 && ::GetAsyncKeyState(VK_MBUTTON) >= 0 &&
                              !IsHoverSuppressed() && !CExtPopupMenuWnd::IsMenuTracking() &&
                              SharesParentWithActive() && ::GetCursorPos(&pt) && ::ScreenToClient(m_hWnd, &pt);
        if (!bCanShow)
        {
            if (m_nTrackingMode == __EGBWA_TRACKING_NONE)
                OnCancelTracking(true);
            return 0;
        }
        HIT_TEST_INFO hti(pt);
        HitTest(hti);
        if (!hti.IsEmpty() && SameCell(hti, m_htiExpanded))
        {
            OnPopupDelayStart(m_htiExpanded, 0);
            if (m_wndContentExpand.GetSafeHwnd() != NULL)
                SetTimer(m_nTimerIds[2], POPUP_WATCH_PERIOD, NULL);
        }
        return 0;
    }
    if (nId == m_nTimerIds[2])
    {
        POINT pt;
        HWND hWndPopup = m_wndContentExpand.GetSafeHwnd();
        RECT rc;
        if (hWndPopup != NULL && ::GetCursorPos(&pt) && ::GetWindowRect(hWndPopup, &rc) && ::PtInRect(&rc, pt))
            return 0;
        KillTimer(nId);
        HidePopups(false, true);
        return 0;
    }
    if (nId == m_nTimerIds[3])
        return 0;
    return Default();
}

// ---- focus, activation, visibility -------------------------------------------------------

LRESULT CExtGridBaseWnd::OnSetCursorMsg(WPARAM wParam, LPARAM lParam)
{
    // A child (an in-place editor) keeps its own cursor; so do the scroll bars.
    POINT pt;
    if ((HWND)wParam == m_hWnd && LOWORD(lParam) == HTCLIENT && ::GetCursorPos(&pt) && ::ScreenToClient(m_hWnd, &pt))
    {
        HIT_TEST_INFO hti(pt);
        HitTest(hti, true, true);
        if (OnSetCursor(hti))
            return TRUE;
    }
    return Default();
}

LRESULT CExtGridBaseWnd::OnKillFocusMsg(WPARAM wParam, LPARAM)
{
    HWND hWndEditor = GetSafeInplaceActiveHwnd();
    if (hWndEditor != NULL && (HWND)wParam == hWndEditor)
        return 0;
    const LRESULT lResult = Default();
    SendMessage(WM_CANCELMODE);
    InvalidateClientArea(false);
    return lResult;
}

LRESULT CExtGridBaseWnd::OnSetFocusMsg(WPARAM, LPARAM)
{
    const LRESULT lResult = Default();
    OnHoverUpdate(NULL);
    InvalidateClientArea(false);
    return lResult;
}

LRESULT CExtGridBaseWnd::OnShowWindowMsg(WPARAM, LPARAM)
{
    const LRESULT lResult = Default();
    if (!::IsWindowVisible(m_hWnd))
        SendMessage(WM_CANCELMODE);
    return lResult;
}

LRESULT CExtGridBaseWnd::OnActivateAppMsg(WPARAM wParam, LPARAM)
{
    if (!wParam)
        SendMessage(WM_CANCELMODE);
    return Default();
}

LRESULT CExtGridBaseWnd::OnMouseActivateMsg(WPARAM, LPARAM) { return m_nMouseActivateResult; }

LRESULT CExtGridBaseWnd::OnGetDlgCodeMsg(WPARAM, LPARAM) { return DLGC_WANTARROWS | DLGC_WANTALLKEYS; }

LRESULT CExtGridBaseWnd::OnSysKeyMsg(WPARAM wParam, LPARAM lParam)
{
    const MSG* pMsg = GetCurrentMessage();
    const bool bDown = pMsg == NULL || pMsg->message == WM_SYSKEYDOWN;
    if (OnSysKey(bDown, (UINT)wParam, LOWORD(lParam), HIWORD(lParam)))
        return 0;
    return Default();
}

LRESULT CExtGridBaseWnd::OnKeyUpMsg(WPARAM wParam, LPARAM lParam)
{
    if (OnKey(false, (UINT)wParam, LOWORD(lParam), HIWORD(lParam)))
        return 0;
    return Default();
}

LRESULT CExtGridBaseWnd::OnPaintItemContentMsg(WPARAM wParam, LPARAM)
{
    if (wParam == 0)
        return 0;
    return OnPaintItemContent(*(CExtContentExpandWnd::ITEM_PAINT_INFO*)wParam) ? 1 : 0;
}

void CExtGridBaseWnd::PostNcDestroy()
{
    if (m_wndContentExpand.GetSafeHwnd() != NULL)
        m_wndContentExpand.Deactivate();
    m_htiExpanded = HIT_TEST_INFO(-1, -1);
    CExtScrollItemWnd::PostNcDestroy();
}
