// The toolbar and the mouse: hit testing, hover, press, capture and release of buttons,
// double and right clicks, the cursor, the tips and context help.
#include "toolkit/bars/toolbar.h"
#include "toolkit/bars/chevron_button.h"
#include "toolkit/bars/bar_mdi_buttons.h"
#include "toolkit/menus/popup_menu_wnd.h"
#include "toolkit/menus/popup_menu_tip_wnd.h"
#include "toolkit/menus/popup_tracking_site.h"
#include "framework/dockbar.h"
#include <cmath>

namespace {

const DWORD TBBS_SEPARATOR_BIT = 0x1;
const DWORD TBBS_CHECKBOX_BIT = 0x2;
const DWORD TBBS_CHECKED_BIT = 0x10000;
const DWORD TBBS_PRESSED_BIT = 0x20000;
const DWORD TBBS_INDETERMINATE_BIT = 0x100000;

// While the bar resizes, drags or the mouse is over its caption buttons, the bar's own
// handling owns the mouse.
bool IsBarInOwnState(const CExtControlBar* pBar)
{
    return (pBar->m_nActivityFlags & (CExtControlBar::__EAF_ROW_RESIZING | CExtControlBar::__EAF_INROW_RESIZING |
                                      CExtControlBar::__EAF_DRAGGING)) != 0 ||
           (pBar->m_nInteractionFlags & CExtControlBar::__EIF_NC_HOVER) != 0;
}

bool IsCtrlVisible(CExtBarButton* pTBB)
{
    CWnd* pCtrl = pTBB->GetCtrl();
    return pCtrl != NULL && pCtrl->GetSafeHwnd() != NULL && (pCtrl->GetStyle() & WS_VISIBLE) != 0;
}

}  // namespace

// ---- hit testing ----------------------------------------------------------------------

int CExtToolControlBar::HitTestButton(CPoint point)
{
    return HitTestButtonEx(point.x, point.y, 0, TBBS_SEPARATOR_BIT, false);
}

int CExtToolControlBar::HitTestButtonEx(int x, int y, DWORD dwStyleMustHave, DWORD dwStyleMustNotHave, bool bNearest)
{
    if (m_hWnd == NULL)
        return -1;
    const CPoint point(x, y);
    if (!bNearest && ::GetCapture() == m_hWnd)
    {
        CPoint ptScreen = point;
        ClientToScreen(&ptScreen);
        if (::WindowFromPoint(ptScreen) != m_hWnd)
            return -1;
    }
    const bool bVert = !IsHorzByStyle() && !IsPanelBar();
    int nBest = -1;
    double dBest = 0.0;
    bool bBestInBand = false;
    for (int i = 0; i < GetButtonsCount(); i++)
    {
        CExtBarButton* pTBB = m_buttons[i];
        if (!pTBB->IsVisible() || !IsButtonCounted(i))
            continue;
        const DWORD dwStyle = pTBB->GetStyle();
        if ((dwStyle & dwStyleMustHave) != dwStyleMustHave || (dwStyle & dwStyleMustNotHave) != 0)
            continue;
        const CRect rc = pTBB->GetRect();
        if (rc.PtInRect(point))
            return i;
        if (!bNearest)
            continue;
        const bool bInBand = bVert ? (x >= rc.left && x <= rc.right) : (y >= rc.top && y <= rc.bottom);
        if (bBestInBand && !bInBand)
            continue;
        const double dx = double(rc.CenterPoint().x - x), dy = double(rc.CenterPoint().y - y);
        const double dDist = std::floor(std::sqrt(dx * dx + dy * dy));
        if (nBest < 0 || (bInBand && !bBestInBand) || dDist < dBest)
        {
            nBest = i;
            dBest = dDist;
            bBestInBand = bInBand;
        }
    }
    return bNearest ? nBest : -1;
}

// ---- press and release -------------------------------------------------------------------

void CExtToolControlBar::OnLButtonDown(UINT nFlags, CPoint point)
{
    if (IsBarInOwnState(this))
    {
        CExtControlBar::OnLButtonDown(nFlags, point);
        return;
    }
    ActivateBar();
    if (m_hWnd == NULL)
        return;
    m_nBtnIdxCapture = HitTestButton(point);
    if (m_nBtnIdxCapture < 0)
    {
        CExtControlBar::OnLButtonDown(nFlags, point);
        return;
    }
    const int nIndex = m_nBtnIdxCapture;
    CExtBarButton* pTBB = m_buttons[nIndex];
    UpdateButtonCmdUI(nIndex);
    if (nIndex != m_nBtnIdxMenuTracking && (!pTBB->IsDisabled() || pTBB->IsAbleToTrackMenu()))
    {
        pTBB->ModifyStyle(TBBS_PRESSED_BIT, 0);
        RedrawButton(nIndex);
        UpdateWindow();
        HWND hWndOwn = m_hWnd;
        pTBB->OnClick(point, true);
        if (!::IsWindow(hWndOwn))
            return;
        if (!g_bButtonMenuTracking && !IsCtrlVisible(pTBB))
        {
            CExtMouseCaptureSink::SetCapture(m_hWnd);
            return;
        }
    }
    m_nBtnIdxCapture = -1;
}

void CExtToolControlBar::OnLButtonUp(UINT nFlags, CPoint point)
{
    if ((m_nBtnIdxCapture < 0 && m_nBtnIdxHover < 0) || IsBarInOwnState(this))
    {
        CExtControlBar::OnLButtonUp(nFlags, point);
        return;
    }
    const int nHover = m_nBtnIdxHover;
    CExtBarButton* pHover = GetButton(nHover);
    m_nBtnIdxHover = -1;
    HWND hWndOwn = m_hWnd;
    if (m_nBtnIdxCapture >= 0)
    {
        const int nIndex = m_nBtnIdxCapture;
        CExtBarButton* pTBB = m_buttons[nIndex];
        pTBB->ClearTracked();
        RedrawButton(nIndex);
        m_nBtnIdxCapture = -1;
        DWORD dwNewStyle = 0;
        bool bClick = false;
        if (HitTestButton(point) == nIndex)
        {
            dwNewStyle = pTBB->GetStyle() & ~TBBS_PRESSED_BIT;
            UpdateButtonCmdUI(nIndex);
            if (!pTBB->IsDisabled() && (dwNewStyle & TBBS_CHECKBOX_BIT) != 0)
            {
                // The indeterminate mark goes first and the check then toggles, so a
                // button only indeterminate ends checked.
                dwNewStyle &= ~TBBS_INDETERMINATE_BIT;
                dwNewStyle ^= TBBS_CHECKED_BIT;
            }
            bClick = true;
        }
        else
            dwNewStyle = pTBB->GetStyle() & ~TBBS_PRESSED_BIT;
        if (::GetCapture() == m_hWnd)
            ::ReleaseCapture();
        if (!::IsWindow(hWndOwn))
            return;
        if (GetButton(nIndex) == pTBB)
        {
            if (bClick)
            {
                pTBB->OnClick(point, false);
                if (!::IsWindow(hWndOwn) || GetButton(nIndex) != pTBB)
                    return;
            }
            if (!g_bButtonMenuTracking)
            {
                SetButtonStyle(nIndex, dwNewStyle);
                UpdateButtonCmdUI(nIndex);
            }
        }
    }
    if (pHover != NULL && GetButton(nHover) == pHover)
    {
        pHover->SetHot(false);
        bool bSuspend = false;
        pHover->OnHover(point, false, bSuspend);
        RedrawButton(nHover);
    }
    if (::IsWindow(hWndOwn))
        UpdateWindow();
}

void CExtToolControlBar::OnCancelMode()
{
    CExtControlBar::OnCancelMode();
    if (m_nBtnIdxCapture >= 0)
    {
        CExtBarButton* pTBB = GetButton(m_nBtnIdxCapture);
        if (pTBB != NULL)
        {
            if (m_nBtnIdxCapture != m_nBtnIdxMenuTracking)
                pTBB->ModifyStyle(0, TBBS_PRESSED_BIT);
            pTBB->ClearTracked();
        }
        m_nBtnIdxCapture = -1;
    }
    if (m_nBtnIdxHover >= 0)
    {
        CExtBarButton* pTBB = GetButton(m_nBtnIdxHover);
        m_nBtnIdxHover = -1;
        if (pTBB != NULL)
        {
            pTBB->SetHot(false);
            CPoint pt;
            ::GetCursorPos(&pt);
            ScreenToClient(&pt);
            bool bSuspend = false;
            pTBB->OnHover(pt, false, bSuspend);
        }
    }
    if (m_hWnd != NULL && ::GetCapture() == m_hWnd)
        ::ReleaseCapture();
    if (m_hWnd != NULL)
        ::RedrawWindow(m_hWnd, NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

void CExtToolControlBar::OnCaptureChanged(CWnd* pWnd)
{
    if ((m_nBtnIdxCapture >= 0 || m_nBtnIdxHover >= 0) && (pWnd == NULL || pWnd->GetSafeHwnd() != m_hWnd))
        SendMessage(WM_CANCELMODE);
    CExtControlBar::OnCaptureChanged(pWnd);
}

void CExtToolControlBar::OnLButtonDblClk(UINT nFlags, CPoint point)
{
    if (IsBarInOwnState(this))
    {
        CExtControlBar::OnLButtonDblClk(nFlags, point);
        return;
    }
    const int nIndex = HitTestButtonEx(point.x, point.y, 0, 0, false);
    if (nIndex < 0)
    {
        if (IsFloating())
            CExtControlBar::OnLButtonDblClk(nFlags, point);
        return;
    }
    CExtBarButton* pTBB = m_buttons[nIndex];
    if (pTBB->OnDblClick(point))
        return;
    if (IsFloating() || !pTBB->IsSeparator())
    {
        // A fast second click is a click like the first.
        const LPARAM lParam = MAKELPARAM(point.x, point.y);
        SendMessage(WM_LBUTTONUP, nFlags, lParam);
        if (m_hWnd != NULL)
            SendMessage(WM_LBUTTONDOWN, nFlags, lParam);
        return;
    }
    if (IsFloatToggleAllowed())
        ToggleDocking();
}

void CExtToolControlBar::OnRButtonUp(UINT nFlags, CPoint point)
{
    // A customize site of this toolkit builds no button context menu.
    CExtControlBar::OnRButtonUp(nFlags, point);
}

void CExtToolControlBar::ToggleDocking()
{
    if (m_pDockSite == NULL || m_pDockBar == NULL || m_pDockContext == NULL)
        return;
    CFrameWnd* pFrame = GetParentFrame();
    // The floating frame it leaves goes out of sight; the bar itself stays shown, or it
    // would come back docked but hidden.
    if (pFrame != NULL && pFrame != m_pDockSite && pFrame->IsKindOf(RUNTIME_CLASS(CMiniDockFrameWnd)))
        pFrame->ShowWindow(SW_HIDE);
    m_pDockContext->ToggleDocking();
    CFrameWnd* pDockingFrame = GetDockingFrame();
    if (pDockingFrame != NULL)
        pDockingFrame->DelayRecalcLayout(TRUE);
    RecalcNcFrame();
}

// ---- mouse moves, hover and tips ------------------------------------------------------

bool CExtToolControlBar::ProcessMouseMove(UINT nFlags, CPoint point)
{
    if ((CExtPopupMenuWnd::IsMenuTracking() && !g_bButtonMenuTracking) || IsBarInOwnState(this))
        return CExtControlBar::ProcessMouseMove(nFlags, point);
    if (m_nBtnIdxCapture >= 0)
    {
        const int nIndex = m_nBtnIdxCapture;
        CExtBarButton* pTBB = GetButton(nIndex);
        if (pTBB == NULL)
        {
            m_nBtnIdxCapture = -1;
            return true;
        }
        DWORD dwStyle = pTBB->GetStyle() & ~TBBS_PRESSED_BIT;
        const bool bCapture = ::GetCapture() == m_hWnd;
        if (bCapture && HitTestButton(point) == nIndex)
            dwStyle |= TBBS_PRESSED_BIT;
        if (!bCapture)
            m_nBtnIdxCapture = -1;
        SetButtonStyle(nIndex, dwStyle);
        UpdateWindow();
        return true;
    }
    const int nHoverBefore = m_nBtnIdxHover;
    HoverTrack(point);
    bool bChanged = nHoverBefore != m_nBtnIdxHover;
    if (m_hWnd != NULL && ::GetCapture() == m_hWnd && m_nBtnIdxHover < 0 && m_nBtnIdxMenuTracking < 0 &&
        m_nBtnIdxCapture < 0)
    {
        CPoint ptScreen = point;
        ClientToScreen(&ptScreen);
        if (::WindowFromPoint(ptScreen) != m_hWnd)
        {
            ::ReleaseCapture();
            bChanged = true;
        }
    }
    if (m_hWnd != NULL && ShowButtonTip(point))
        bChanged = true;
    if (!bChanged && m_hWnd != NULL)
        return CExtControlBar::ProcessMouseMove(nFlags, point);
    return true;
}

void CExtToolControlBar::HoverTrack(CPoint point)
{
    if (m_hWnd == NULL)
        return;
    if (point.x < 0 || point.y < 0)
    {
        ::GetCursorPos(&point);
        ScreenToClient(&point);
    }
    int nCandidate = -1;
    CWnd* pTop = GetTopLevelParent();
    if (GetDraggedBar() == NULL &&
        ((pTop != NULL && ::GetActiveWindow() == pTop->GetSafeHwnd()) || CExtPopupMenuWnd::IsMenuTracking()))
        nCandidate = HitTestButton(point);
    if (nCandidate == m_nBtnIdxHover)
        return;
    if (m_nBtnIdxHover >= 0)
    {
        CExtBarButton* pOld = GetButton(m_nBtnIdxHover);
        const int nOld = m_nBtnIdxHover;
        m_nBtnIdxHover = -1;
        if (pOld != NULL)
        {
            pOld->SetHot(false);
            RedrawButton(nOld);
            UpdateWindow();
            pOld->OnHover(point, false, m_bSuppressToolTips);
        }
        if (m_hWnd == NULL || !::IsWindow(m_hWnd))
            return;
    }
    m_nBtnIdxHover = -1;
    if (nCandidate < 0)
        return;
    CExtBarButton* pNew = m_buttons[nCandidate];
    if (!IsFrameInHelpMode(this))
        m_nBtnIdxHover = nCandidate;
    else if (pNew->HasPopup(false) && pNew->OnHelpHitTest(point) == -3)
        m_nBtnIdxHover = nCandidate;
    if (m_nBtnIdxHover < 0)
        return;
    if (g_bButtonMenuTracking && (pNew->IsKindOf(RUNTIME_CLASS(CExtBarMdiRightButton)) || pNew->IsDisabled()))
        return;
    if (IsCustomizeModeActive())
        return;
    pNew->SetHot(true);
    RedrawButton(nCandidate);
    UpdateWindow();
    pNew->OnHover(point, true, m_bSuppressToolTips);
}

bool CExtToolControlBar::ShowButtonTip(CPoint point)
{
    if (CExtPopupMenuWnd::IsMenuTracking() || m_nBtnIdxHover < 0 || IsCustomizeModeActive())
        return false;
    CExtPopupMenuTipWnd* pTip = GetBarTipWnd();
    CExtBarButton* pTBB = GetButton(m_nBtnIdxHover);
    if (pTip == NULL || pTBB == NULL)
        return false;
    TOOLINFO ti;
    ::memset(&ti, 0, sizeof(ti));
    ti.cbSize = AFX_OLDTOOLINFO_SIZE;
    if (pTBB->OnToolHitTest(point, &ti) < 0 || ti.lpszText == NULL)
        return false;
    CString sText;
    // Only a copied text is ours to free; the callback marker is no text.
    if (ti.lpszText != LPSTR_TEXTCALLBACK)
    {
        sText = ti.lpszText;
        ::free(ti.lpszText);
    }
    if (sText.IsEmpty())
        return false;
    CRect rcTool(ti.rect);
    ClientToScreen(&rcTool);
    if (pTip->GetSafeHwnd() != NULL && pTip->IsWindowVisible() && pTip->GetText() == sText && m_rcLastTip == rcTool)
        return false;
    m_rcLastTip = rcTool;
    ShowBarTip(pTip, rcTool, sText);
    return true;
}

INT_PTR CExtToolControlBar::OnToolHitTest(CPoint point, TOOLINFO* pTI) const
{
    CExtToolControlBar* pThis = const_cast<CExtToolControlBar*>(this);
    if (QueryButtonOption2() && !g_bButtonMenuTracking && !CExtPopupMenuWnd::IsMenuTracking() &&
        pThis->GetBarTipWnd() == NULL && !m_bSuppressToolTips)
    {
        const int nIndex = pThis->HitTestButton(point);
        CExtBarButton* pTBB = GetButton(nIndex);
        if (pTBB != NULL)
        {
            const int nHit = pTBB->OnToolHitTest(point, pTI);
            // A button that answers without filling the record has no tool: id 0 with
            // an empty record would be a tool that shows nothing.
            if (nHit != -1 && pTI != NULL && pTI->lpszText == NULL)
                return -1;
            if (nHit != -1)
                return nHit;
        }
    }
    return CExtControlBar::OnToolHitTest(point, pTI);
}

int CExtToolControlBar::OnHelpHitTestBar(CPoint point)
{
    const int nIndex = HitTestButton(point);
    CExtBarButton* pTBB = GetButton(nIndex);
    if (pTBB == NULL)
        return -1;
    const int nHit = pTBB->OnHelpHitTest(point);
    return (nHit == -1 || nHit == -2) ? -2 : nHit;
}

bool CExtToolControlBar::NcHitTestAndCursor(CPoint point)
{
    const int nIndex = HitTestButtonEx(point.x, point.y, 0, 0, false);
    CExtBarButton* pTBB = GetButton(nIndex);
    if (pTBB != NULL && pTBB->OnCustomizeSetCursor(point))
        return true;
    return CExtControlBar::NcHitTestAndCursor(point);
}
