// What keeps a slid-out bar out and what takes it back in: the thread's mouse and
// keyboard hooks (installed only while a bar is out), the caption buttons' hover and
// clicks, the resize of the inner edge, and the two timers that slide the bar in once
// the mouse has left the slider and its area for half a second with the focus elsewhere.
#include "toolkit/bars/auto_hide.h"
#include "toolkit/menus/popup_menu_wnd.h"

namespace {

// The menu-mode flag: a bar button's menu tracks.
bool IsMenuMode() { return CExtToolControlBar::g_bButtonMenuTracking; }

bool IsMenuOrDragActive()
{
    return CExtPopupMenuWnd::IsMenuTracking() || IsMenuMode() || CExtControlBar::GetDraggedBar() != NULL;
}

}  // namespace

// ---- hooks ----------------------------------------------------------------------------------

void CExtDynAutoHideSlider::InstallHooks()
{
    g_pHookingSlider = this;
    const DWORD dwThreadId = ::GetCurrentThreadId();
    if (g_hHookMouse == NULL)
        g_hHookMouse = ::SetWindowsHookEx(WH_MOUSE, HookMouseProc, NULL, dwThreadId);
    if (g_hHookKeyboard == NULL)
        g_hHookKeyboard = ::SetWindowsHookEx(WH_KEYBOARD, HookKeyboardProc, NULL, dwThreadId);
}

void CExtDynAutoHideSlider::RemoveHooks()
{
    if (g_hHookMouse != NULL)
        ::UnhookWindowsHookEx(g_hHookMouse);
    if (g_hHookKeyboard != NULL)
        ::UnhookWindowsHookEx(g_hHookKeyboard);
    g_hHookMouse = g_hHookKeyboard = NULL;
    g_pHookingSlider = NULL;
}

LRESULT CALLBACK CExtDynAutoHideSlider::HookMouseProc(int nCode, WPARAM wParam, LPARAM lParam)
{
    CExtDynAutoHideSlider* pSlider = g_pHookingSlider;
    if (nCode == HC_ACTION && pSlider != NULL && pSlider->m_hWnd != NULL && ::IsWindow(pSlider->m_hWnd) &&
        pSlider->IsShownAndOut())
    {
        CPoint pt;
        if (::GetCursorPos(&pt))
        {
            // A move follows the pointer as it is; a button is judged where the hand
            // pressed or released it, the point the message carries.
            const CPoint ptMove = pt;
            if (lParam != 0)
                pt = ((const MOUSEHOOKSTRUCT*)lParam)->pt;
            bool bEaten = false;
            switch (wParam)
            {
            case WM_MOUSEMOVE:
            case WM_NCMOUSEMOVE: bEaten = pSlider->HandleMouseMove(ptMove); break;
            case WM_LBUTTONDOWN: bEaten = pSlider->HandleMouseButton(1, true, false, pt); break;
            case WM_LBUTTONUP: bEaten = pSlider->HandleMouseButton(1, false, false, pt); break;
            case WM_NCLBUTTONDOWN: bEaten = pSlider->HandleMouseButton(1, true, true, pt); break;
            case WM_NCLBUTTONUP: bEaten = pSlider->HandleMouseButton(1, false, true, pt); break;
            case WM_RBUTTONDOWN: bEaten = pSlider->HandleMouseButton(2, true, false, pt); break;
            case WM_RBUTTONUP: bEaten = pSlider->HandleMouseButton(2, false, false, pt); break;
            case WM_NCRBUTTONDOWN: bEaten = pSlider->HandleMouseButton(2, true, true, pt); break;
            case WM_NCRBUTTONUP: bEaten = pSlider->HandleMouseButton(2, false, true, pt); break;
            case WM_MBUTTONDOWN: bEaten = pSlider->HandleMouseButton(0x10, true, false, pt); break;
            case WM_MBUTTONUP: bEaten = pSlider->HandleMouseButton(0x10, false, false, pt); break;
            case WM_NCMBUTTONDOWN: bEaten = pSlider->HandleMouseButton(0x10, true, true, pt); break;
            case WM_NCMBUTTONUP: bEaten = pSlider->HandleMouseButton(0x10, false, true, pt); break;
            default: break;
            }
            if (bEaten)
                return 1;
        }
    }
    return ::CallNextHookEx(g_hHookMouse, nCode, wParam, lParam);
}

LRESULT CALLBACK CExtDynAutoHideSlider::HookKeyboardProc(int nCode, WPARAM wParam, LPARAM lParam)
{
    CExtDynAutoHideSlider* pSlider = g_pHookingSlider;
    if (nCode == HC_ACTION && pSlider != NULL && pSlider->m_hWnd != NULL && ::IsWindow(pSlider->m_hWnd) &&
        pSlider->IsShownAndOut())
    {
        MSG msg;
        ::ZeroMemory(&msg, sizeof(msg));
        msg.hwnd = pSlider->m_hWnd;
        msg.message = (DWORD(lParam) & 0x80000000) != 0 ? WM_KEYUP : WM_KEYDOWN;
        msg.wParam = wParam;
        msg.lParam = lParam;
        if (pSlider->PreTranslateMessage(&msg))
            return 1;
    }
    return ::CallNextHookEx(g_hHookKeyboard, nCode, wParam, lParam);
}

// ---- caption buttons --------------------------------------------------------------------------

CExtBarNcAreaButton* CExtDynAutoHideSlider::CaptionButtonAt(CPoint ptWnd) const
{
    CExtControlBar* pBar = GetShownBar();
    if (pBar == NULL)
        return NULL;
    for (INT_PTR i = 0; i < pBar->m_vNcAreaButtons.GetSize(); i++)
    {
        CExtBarNcAreaButton* pBtn = pBar->m_vNcAreaButtons[i];
        if (pBtn->OnQueryVisibility() && ::PtInRect(&pBtn->m_rc, ptWnd))
            return pBtn;
    }
    return NULL;
}

bool CExtDynAutoHideSlider::IsPointInsideSliderOrArea(CPoint ptScreen) const
{
    CRect rc;
    GetWindowRect(&rc);
    if (rc.PtInRect(ptScreen))
        return true;
    CExtDynAutoHideArea* pArea = GetArea();
    if (pArea == NULL)
        return false;
    pArea->GetWindowRect(&rc);
    rc.InflateRect(2, 2);
    return rc.PtInRect(ptScreen) != FALSE;
}

// ---- mouse ------------------------------------------------------------------------------------

bool CExtDynAutoHideSlider::HandleMouseMove(CPoint ptScreen)
{
    if (m_nResizingMode != __EAHS_RESIZE_NONE)
    {
        ResizeTrack(ptScreen);
        return true;
    }
    CExtControlBar* pBar = GetShownBar();
    if (pBar == NULL || IsMenuOrDragActive())
        return false;
    CExtBarNcAreaButton* pHover = NULL;
    const HWND hWndAt = ::WindowFromPoint(ptScreen);
    if (hWndAt == m_hWnd || ::IsChild(m_hWnd, hWndAt))
    {
        CRect rcWnd;
        GetWindowRect(&rcWnd);
        pHover = CaptionButtonAt(CPoint(ptScreen.x - rcWnd.left, ptScreen.y - rcWnd.top));
    }
    CRect rcWnd;
    GetWindowRect(&rcWnd);
    const CPoint ptWnd = pHover != NULL ? CPoint(ptScreen.x - rcWnd.left, ptScreen.y - rcWnd.top) : CPoint(-1, -1);
    for (INT_PTR i = 0; i < pBar->m_vNcAreaButtons.GetSize(); i++)
    {
        CExtBarNcAreaButton* pBtn = pBar->m_vNcAreaButtons[i];
        if (pBtn != pHover)
            pBtn->OnNcAreaHitTest(CPoint(-1, -1));
    }
    if (pHover != NULL)
    {
        pHover->OnNcAreaHitTest(ptWnd);
        if (pHover != m_pBtnPressed && (pHover->m_nFlags & CExtBarNcAreaButton::__EBNBF_PRESSED) != 0 &&
            m_pBtnPressed == NULL)
            pHover->m_nFlags &= BYTE(~CExtBarNcAreaButton::__EBNBF_PRESSED);
    }
    if (pHover != m_pBtnHover)
    {
        m_pBtnHover = pHover;
        m_pBtnTip = pHover;
        RepaintCaption();
    }
    return false;
}

void CExtDynAutoHideSlider::ResizeTrack(CPoint ptScreen)
{
    CExtControlBar* pBar = GetShownBar();
    CWnd* pFrame = GetParent();
    if (pBar == NULL || pFrame == NULL)
        return;
    CPoint pt = ptScreen;
    pFrame->ScreenToClient(&pt);
    CRect rcLimit(m_rcAvail);
    rcLimit.DeflateRect(__EAHS_MIN_EXTENT, __EAHS_MIN_EXTENT);
    pt.x = std::max(rcLimit.left, std::min(pt.x, rcLimit.right));
    pt.y = std::max(rcLimit.top, std::min(pt.y, rcLimit.bottom));
    CRect rcOld;
    GetWindowRect(&rcOld);
    pFrame->ScreenToClient(&rcOld);
    CRect rcNew = rcOld;
    switch (m_nResizingMode)
    {
    case HTBOTTOM: rcNew.bottom = pt.y; break;
    case HTTOP: rcNew.top = pt.y; break;
    case HTRIGHT: rcNew.right = pt.x; break;
    case HTLEFT: rcNew.left = pt.x; break;
    default: return;
    }
    if (rcNew == rcOld || rcNew.Width() <= 0 || rcNew.Height() <= 0)
        return;
    const CRect rcInsets = NonClientInsets(pBar);
    if (m_nResizingMode == HTLEFT || m_nResizingMode == HTRIGHT)
        pBar->AutoHideWidthSet(rcNew.Width() - rcInsets.left - rcInsets.right);
    else
        pBar->AutoHideHeightSet(rcNew.Height() - rcInsets.top - rcInsets.bottom);
    SetWindowPos(NULL, rcNew.left, rcNew.top, rcNew.Width(), rcNew.Height(),
                 SWP_NOZORDER | SWP_NOCOPYBITS | SWP_NOOWNERZORDER);
    RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_ERASENOW | RDW_FRAME);
}

bool CExtDynAutoHideSlider::HandleMouseButton(int nButton, bool bDown, bool, CPoint ptScreen)
{
    CExtControlBar* pBar = GetShownBar();
    if (!IsShownAndOut() || pBar == NULL || GetArea() == NULL)
        return false;
    CRect rcWnd;
    GetWindowRect(&rcWnd);
    const CPoint ptWnd = CPoint(ptScreen.x - rcWnd.left, ptScreen.y - rcWnd.top);
    const HWND hWndAt = ::WindowFromPoint(ptScreen);
    const bool bInSlider = hWndAt == m_hWnd || ::IsChild(m_hWnd, hWndAt);
    if (nButton == 1 && bDown)
    {
        if (m_nResizingMode != __EAHS_RESIZE_NONE || !bInSlider)
            return false;
        const UINT nHit = UINT(SendMessage(WM_NCHITTEST, 0, MAKELPARAM(ptScreen.x, ptScreen.y)));
        if (nHit == HTLEFT || nHit == HTRIGHT || nHit == HTTOP || nHit == HTBOTTOM)
        {
            m_nResizingMode = nHit;
            m_dwResizeStartX = DWORD(ptScreen.x);
            m_dwResizeStartY = DWORD(ptScreen.y);
            return true;
        }
        CRect rcCaption;
        if (!GetCaptionRect(rcCaption) || !rcCaption.PtInRect(ptWnd))
            return false;
        HWND hWndContent = ::GetWindow(m_hWnd, GW_CHILD);
        if (hWndContent != NULL && CExtControlBar::QueryFocusChangingEnabled(this, hWndContent))
            ::SetFocus(hWndContent);
        m_pBtnPressed = CaptionButtonAt(ptWnd);
        if (m_pBtnPressed != NULL)
            m_pBtnPressed->m_nFlags |= CExtBarNcAreaButton::__EBNBF_PRESSED | CExtBarNcAreaButton::__EBNBF_HOVER;
        RepaintCaption();
        return true;
    }
    if (nButton == 1)
    {
        if (m_nResizingMode != __EAHS_RESIZE_NONE)
        {
            m_nResizingMode = __EAHS_RESIZE_NONE;
            return true;
        }
        CExtBarNcAreaButton* pPressed = m_pBtnPressed;
        m_pBtnPressed = NULL;
        if (pPressed == NULL)
            return false;
        pPressed->m_nFlags &= BYTE(~CExtBarNcAreaButton::__EBNBF_PRESSED);
        if (CaptionButtonAt(ptWnd) != pPressed)
        {
            RepaintCaption();
            return false;
        }
        // The click runs against the rectangles the buttons had on the slider.
        if (pPressed->OnQueryAutoHideSlideIn())
            SlideBar(pBar, false, false, true);
        pPressed->OnNcAreaClicked(ptWnd);
        return true;
    }
    if (nButton == 2 && bDown)
    {
        const HWND hWndFocus = ::GetFocus();
        const bool bFocusInside = hWndFocus != NULL && (hWndFocus == m_hWnd || ::IsChild(m_hWnd, hWndFocus));
        if (!bFocusInside && CExtControlBar::QueryFocusChangingEnabled(this, m_hWnd))
            SetFocus();
        return false;
    }
    if (nButton == 0x10 && m_pBtnPressed != NULL)
    {
        m_pBtnPressed->m_nFlags &= BYTE(~CExtBarNcAreaButton::__EBNBF_PRESSED);
        m_pBtnPressed = NULL;
    }
    return false;
}

// ---- timers -----------------------------------------------------------------------------------

void CExtDynAutoHideSlider::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent == __EAHS_TIMER_TRACK)
        OnTrackTimer();
    else if (nIDEvent == __EAHS_TIMER_LEAVE)
        OnLeaveTimer();
    else
        CWnd::OnTimer(nIDEvent);
}

void CExtDynAutoHideSlider::OnTrackTimer()
{
    if (!IsShownAndOut())
    {
        KillTimer(__EAHS_TIMER_TRACK);
        return;
    }
    if (m_nResizingMode != __EAHS_RESIZE_NONE || IsBusy())
        return;
    CExtControlBar* pBar = GetShownBar();
    CFrameWnd* pFrame = DYNAMIC_DOWNCAST(CFrameWnd, GetParent());
    if (CExtControlBar::GetDraggedBar() != NULL ||
        (pFrame != NULL && CExtControlBar::IsPrintPreviewActive(pFrame)) ||
        (pBar != NULL && pBar->IsCustomizeModeActive()))
    {
        SendMessage(WM_CANCELMODE);
        return;
    }
    const HWND hWndFocus = ::GetFocus();
    const bool bInside = hWndFocus != NULL && (hWndFocus == m_hWnd || ::IsChild(m_hWnd, hWndFocus));
    if (bInside != IsFocusInside())
    {
        m_nStateFlags ^= __EAHS_FOCUS_INSIDE;
        RepaintCaption();
        return;
    }
    if (bInside || (m_nStateFlags & __EAHS_LEAVE_TIMER) != 0)
        return;
    CPoint pt;
    if (!::GetCursorPos(&pt))
        return;
    if (IsPointInsideSliderOrArea(pt))
        return;
    m_nStateFlags |= __EAHS_LEAVE_TIMER;
    SetTimer(__EAHS_TIMER_LEAVE, 500, NULL);
}

void CExtDynAutoHideSlider::OnLeaveTimer()
{
    // A menu opened from the slider keeps the bar out.
    if (IsMenuMode() || CExtPopupMenuWnd::IsMenuTracking())
        return;
    m_nStateFlags &= BYTE(~__EAHS_LEAVE_TIMER);
    KillTimer(__EAHS_TIMER_LEAVE);
    CPoint pt;
    if (IsShownAndOut() && ::GetCursorPos(&pt) && !IsPointInsideSliderOrArea(pt))
        SlideBar(GetShownBar(), false, false, true);
}

// ---- keys and tips ----------------------------------------------------------------------------

BOOL CExtDynAutoHideSlider::PreTranslateMessage(MSG* pMsg)
{
    CExtControlBar* pBar = GetShownBar();
    if (pBar != NULL && pBar->PreTranslateMessage(pMsg))
        return TRUE;
    if (pBar != NULL && m_wndToolTip.GetSafeHwnd() != NULL && !CExtPopupMenuWnd::IsMenuTracking() &&
        (pBar->GetBarStyle() & CBRS_TOOLTIPS) != 0)
        m_wndToolTip.SendMessage(TTM_RELAYEVENT, 0, LPARAM(pMsg));
    if (pMsg->message >= WM_KEYFIRST && pMsg->message <= WM_KEYLAST)
    {
        const HWND hWndFocus = ::GetFocus();
        if (hWndFocus != NULL && (hWndFocus == m_hWnd || ::IsChild(m_hWnd, hWndFocus)))
        {
            for (HWND hWnd = hWndFocus; hWnd != NULL && hWnd != m_hWnd; hWnd = ::GetParent(hWnd))
            {
                // (OLE control sites are not supported by the framework, so no in-place
                // object can be met on the way.)
                CWnd* pWnd = CWnd::FromHandlePermanent(hWnd);
                if (pWnd != NULL && pWnd->PreTranslateMessage(pMsg))
                    return TRUE;
            }
        }
    }
    return CWnd::PreTranslateMessage(pMsg);
}

INT_PTR CExtDynAutoHideSlider::OnToolHitTest(CPoint point, TOOLINFO* pTI) const
{
    CExtControlBar* pBar = GetShownBar();
    if (!IsShownAndOut() || pBar == NULL || (pBar->GetBarStyle() & CBRS_TOOLTIPS) == 0 || IsMenuOrDragActive())
        return -1;
    CRect rcWnd;
    GetWindowRect(&rcWnd);
    CPoint ptScreen = point;
    ClientToScreen(&ptScreen);
    CExtBarNcAreaButton* pBtn = CaptionButtonAt(CPoint(ptScreen.x - rcWnd.left, ptScreen.y - rcWnd.top));
    if (pBtn == NULL)
        return -1;
    const_cast<CExtDynAutoHideSlider*>(this)->m_pBtnTip = pBtn;
    return pBtn->OnToolHitTest(point, pTI);
}
