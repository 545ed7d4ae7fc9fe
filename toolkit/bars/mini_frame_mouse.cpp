// CExtMiniDockFrameWnd's mouse: its caption (drag, bars menu, double click), the close
// button's hover, the timers, and the sizing loop on its borders.
#include "toolkit/bars/control_bar.h"
#include <algorithm>
#include "framework/afxres.h"
#include "framework/winthread.h"
#include "toolkit/core/cmd_tree.h"
#include "toolkit/menus/popup_menu_wnd.h"

namespace {

bool g_bApplyingPoint = false;

bool IsSizingCode(UINT nHT) { return nHT >= HTLEFT && nHT <= HTBOTTOMRIGHT; }

bool IsFixedNotMarker(CExtControlBar* pBar) { return pBar != NULL && pBar->IsFixedMode() && !pBar->UsesDockMarkerDrag(); }

}  // namespace

void CExtMiniDockFrameWnd::OnNcMouseMove(UINT nHitTest, CPoint point)
{
    if (IsResizing())
        return;
    CMiniDockFrameWnd::OnNcMouseMove(nHitTest, point);
    TrackCloseButtonHover(point, true);
}

void CExtMiniDockFrameWnd::TrackCloseButtonHover(CPoint ptScreen, bool bShowTips)
{
    CExtControlBar* pBar = GetControlBar();
    CRect rcWnd;
    GetWindowRect(&rcWnd);
    const CPoint ptWnd(ptScreen.x - rcWnd.left, ptScreen.y - rcWnd.top);
    if (pBar != NULL)
    {
        if (!bShowTips || (pBar->m_dwStyle & CBRS_TOOLTIPS) == 0)
            return;
        // The bar shows the tip of its caption button under the point.
        pBar->SendMessage(WM_NCMOUSEMOVE, HTCAPTION, MAKELPARAM(ptScreen.x, ptScreen.y));
        return;
    }
    const BOOL bHover = ::PtInRect(&m_rcBtnHideBar, ptWnd);
    if (bHover != m_bBtnHideBarHover)
    {
        m_bBtnHideBarHover = bHover;
        SendMessage(WM_NCPAINT);
    }
    if (bHover)
        SetTimer(2, 20, NULL);
    else
        KillTimer(2);
}

void CExtMiniDockFrameWnd::OnNcLButtonDown(UINT nHitTest, CPoint point)
{
    CRect rcWnd;
    GetWindowRect(&rcWnd);
    if (::PtInRect(&m_rcBtnHideBar, CPoint(point.x - rcWnd.left, point.y - rcWnd.top)))
        return;
    CExtControlBar* pBar = GetControlBar();
    if (nHitTest == HTCAPTION)
    {
        if (::GetActiveWindow() != m_hWnd)
            SetActiveWindow();
        if (pBar == NULL || (pBar->m_nInteractionFlags & CExtControlBar::__EIF_NC_HOVER) == 0)
            BringWindowToTop();
        if ((m_wndDockBar.m_dwStyle & CBRS_FLOAT_MULTI) != 0)
        {
            CMiniDockFrameWnd::OnNcLButtonDown(nHitTest, point);
            return;
        }
        CControlBar* pAny = GetAnyControlBar();
        if (pBar == NULL || IsFixedNotMarker(pBar))
        {
            if (pAny != NULL && pAny->m_pDockContext != NULL)
                pAny->m_pDockContext->StartDrag(point);
            return;
        }
        // The frame is held where its caption was grabbed. Only a bar that shows a
        // caption of its own in the frame shifts the grab by that caption's size: a bar
        // alone in the frame keeps the caption rectangle of its docked days, and using it
        // would make the frame jump away from the cursor.
        const CRect rcCaption(pBar->m_rcCaption);
        const int d = pBar->IsBarWithGripper() ? std::min(rcCaption.Width(), rcCaption.Height()) : 0;
        pBar->DragLoop(point, CSize(point.x - rcWnd.left - d, point.y - rcWnd.top - d / 2), 1, 1);
        return;
    }
    if (IsSizingCode(nHitTest))
    {
        if (::GetActiveWindow() != m_hWnd)
            SetActiveWindow();
        CControlBar* pAny = GetAnyControlBar();
        if (pBar == NULL)
        {
            CMiniDockFrameWnd::OnNcLButtonDown(nHitTest, point);
            return;
        }
        if (IsFixedNotMarker(pBar))
        {
            if (pAny->m_pDockContext != NULL)
                pAny->m_pDockContext->StartResize(int(nHitTest), point);
            return;
        }
        ResizeLoop(nHitTest);
        return;
    }
    if (nHitTest == HTGROWBOX || nHitTest == HTMINBUTTON || nHitTest == HTMAXBUTTON)
        return;
    CMiniDockFrameWnd::OnNcLButtonDown(nHitTest, point);
}

void CExtMiniDockFrameWnd::OnNcLButtonUp(UINT nHitTest, CPoint point)
{
    if (IsResizing())
    {
        EndResizing();
        return;
    }
    if (CExtControlBar::GetDraggedBar() != NULL)
        return;
    CExtControlBar* pBar = GetControlBar();
    if (pBar != NULL && (pBar->m_nInteractionFlags & CExtControlBar::__EIF_NC_HOVER) != 0)
    {
        CRect rcWnd;
        GetWindowRect(&rcWnd);
        const CPoint ptWnd(point.x - rcWnd.left, point.y - rcWnd.top);
        const HWND hWndOwn = m_hWnd;
        for (INT_PTR i = 0; i < pBar->m_vNcAreaButtons.GetSize(); i++)
        {
            CExtBarNcAreaButton* pBtn = pBar->m_vNcAreaButtons[i];
            if (!pBtn->OnQueryVisibility())
                continue;
            if (pBtn->OnNcAreaClicked(ptWnd) || !::IsWindow(hWndOwn))
                return;
        }
        return;
    }
    CMiniDockFrameWnd::OnNcLButtonUp(nHitTest, point);
}

void CExtMiniDockFrameWnd::OnNcLButtonDblClk(UINT nHitTest, CPoint point)
{
    CRect rcWnd;
    GetWindowRect(&rcWnd);
    if (nHitTest == HTCAPTION && ::PtInRect(&m_rcBtnHideBar, CPoint(point.x - rcWnd.left, point.y - rcWnd.top)))
        return;
    CExtControlBar* pBar = GetControlBar();
    if (pBar == NULL)
    {
        CMiniDockFrameWnd::OnNcLButtonDblClk(nHitTest, point);
        return;
    }
    if (nHitTest == HTCAPTION && pBar->IsFloatToggleAllowed())
        pBar->ToggleDocking();
}

void CExtMiniDockFrameWnd::OnNcRButtonDown(UINT nHitTest, CPoint)
{
    if (IsResizing())
        EndResizing();
    if (nHitTest != HTCAPTION || CExtControlBar::IsFrameInHelpMode(this))
        return;
    CExtControlBar* pBar = GetControlBar();
    CFrameWnd* pFrame = GetParentFrame();
    if (pFrame == NULL)
        return;
    CExtPopupMenuWnd* pPopup = new CExtPopupMenuWnd;
    if (!pPopup->CreatePopupMenu(pFrame->GetSafeHwnd()) ||
        !CExtDockBar::BuildBarsPopupMenu(pFrame, pPopup, 5, this, WM_NCRBUTTONDOWN, pBar) ||
        pPopup->ItemGetCount() == 0)
    {
        delete pPopup;
        return;
    }
    CPoint pt;
    ::GetCursorPos(&pt);
    if (!pPopup->TrackPopupMenu(CExtPopupMenuWnd::TMF_OWNER_DRAW, pt.x, pt.y))
        delete pPopup;
}

void CExtMiniDockFrameWnd::OnTimer(UINT_PTR nIDEvent)
{
    CExtControlBar* pBar = GetControlBar();
    switch (nIDEvent)
    {
    case 1:
    {
        KillTimer(1);
        if (pBar != NULL)
            pBar->LayoutNcAreaButtons();
        if ((GetStyle() & WS_VISIBLE) != 0)
            SendMessage(WM_NCPAINT);
        if (pBar != NULL)
        {
            // The drag code floats the bar again in a frame of this size.
            CRect rcWnd;
            GetWindowRect(&rcWnd);
            pBar->m_rcDragValue = CRect(CPoint(0, 0), rcWnd.Size());
        }
        return;
    }
    case 2:
    {
        CPoint pt;
        ::GetCursorPos(&pt);
        TrackCloseButtonHover(pt, false);
        return;
    }
    case 4:
    {
        if (CExtControlBar::GetDraggedBar() != NULL || pBar == NULL)
        {
            KillTimer(4);
            return;
        }
        CPoint pt;
        ::GetCursorPos(&pt);
        if (pBar->NcButtonsHitTest(pt) == HTCLIENT)
        {
            PostMessage(WM_NCPAINT);
            pBar->m_nInteractionFlags &= ~CExtControlBar::__EIF_NC_HOVER;
        }
        if ((pBar->m_nInteractionFlags & CExtControlBar::__EIF_NC_HOVER) == 0)
            KillTimer(4);
        return;
    }
    case 5:
        KillTimer(5);
        FitIntoWorkArea();
        return;
    default:
        break;
    }
    if (pBar != NULL && nIDEvent == UINT_PTR(pBar->GetDlgCtrlID()))
    {
        if (IsResizing())
            return;
        CPoint pt;
        ::GetCursorPos(&pt);
        const HWND hWndAt = ::WindowFromPoint(pt);
        if (hWndAt != NULL && (hWndAt == m_hWnd || ::IsChild(m_hWnd, hWndAt)) && !CExtPopupMenuWnd::IsMenuTracking() &&
            IsWindowEnabled() && ::GetFocus() != NULL)
            BringWindowToTop();
        return;
    }
    CMiniDockFrameWnd::OnTimer(nIDEvent);
}

// ---- sizing loop ------------------------------------------------------------------------

void CExtMiniDockFrameWnd::ResizeLoop(UINT nHitTest)
{
    CExtToolControlBar::CancelAllButtonMenuTracking();
    CExtPopupMenuWnd::CancelMenuTracking();
    CExtControlBar* pBar = GetControlBar();
    if (IsFixedNotMarker(pBar))
    {
        CControlBar* pAny = GetAnyControlBar();
        CPoint pt;
        ::GetCursorPos(&pt);
        if (pAny != NULL && pAny->m_pDockContext != NULL)
            pAny->m_pDockContext->StartResize(int(nHitTest), pt);
        return;
    }
    m_nResizingHT = nHitTest;
    if (pBar != NULL && !pBar->IsFixedMode())
        ModifyStyle(0x2000, 0);
    BringWindowToTop();
    CExtMouseCaptureSink::SetCapture(m_hWnd);
    GetWindowRect(&m_rcResizingStart);
    const HWND hWndOwn = m_hWnd;
    CWinThread* pThread = AfxGetThread();
    while (::IsWindow(hWndOwn) && m_nResizingHT != 0)
    {
        ::WaitMessage();
        MSG msg;
        while (::IsWindow(hWndOwn) && m_nResizingHT != 0 && ::PeekMessage(&msg, NULL, 0, 0, PM_NOREMOVE))
        {
            if (msg.message == WM_ACTIVATEAPP || msg.message == WM_COMMAND ||
                (msg.message >= WM_KEYFIRST && msg.message <= 0x108))
            {
                EndResizing();
                break;
            }
            if (msg.message == WM_MOUSEMOVE)
            {
                // Only the latest position matters.
                while (::PeekMessage(&msg, NULL, WM_MOUSEMOVE, WM_MOUSEMOVE, PM_REMOVE))
                {
                }
                CPoint pt;
                ::GetCursorPos(&pt);
                ApplyTrackPoint(pt);
                continue;
            }
            if (::GetCapture() != hWndOwn)
            {
                EndResizing();
                break;
            }
            const BOOL bPumped = pThread != NULL ? pThread->PumpMessage() : AfxPumpMessage();
            if (!bPumped)
            {
                const WPARAM nExitCode = msg.message == WM_QUIT ? msg.wParam : 0;
                if (::IsWindow(hWndOwn))
                    EndResizing();
                ::PostQuitMessage(int(nExitCode));
                return;
            }
        }
        if (CExtControlBar::g_bIdleWhileTracking && pThread != NULL)
            for (LONG n = 0; ::IsWindow(hWndOwn) && m_nResizingHT != 0 && pThread->OnIdle(n); n++)
            {
            }
    }
}

void CExtMiniDockFrameWnd::EndResizing()
{
    m_ptLastTrack = CPoint(-1, -1);
    const UINT nHT = m_nResizingHT;
    m_nResizingHT = 0;
    if (::GetCapture() == m_hWnd)
        ::ReleaseCapture();
    CExtControlBar* pBar = GetControlBar();
    if (nHT != 0 && pBar != NULL && !pBar->IsFixedMode())
        ModifyStyle(0, 0x2000);
}

void CExtMiniDockFrameWnd::OnMouseMove(UINT nFlags, CPoint point)
{
    if (!IsResizing())
    {
        CMiniDockFrameWnd::OnMouseMove(nFlags, point);
        return;
    }
    ClientToScreen(&point);
    ApplyTrackPoint(point);
}

void CExtMiniDockFrameWnd::OnLButtonUp(UINT nFlags, CPoint point)
{
    if (IsResizing())
    {
        EndResizing();
        return;
    }
    CMiniDockFrameWnd::OnLButtonUp(nFlags, point);
}

void CExtMiniDockFrameWnd::OnRButtonDown(UINT nFlags, CPoint point)
{
    if (IsResizing())
    {
        EndResizing();
        return;
    }
    CMiniDockFrameWnd::OnRButtonDown(nFlags, point);
}

void CExtMiniDockFrameWnd::OnCaptureChanged(CWnd* pWnd)
{
    if (IsResizing() && pWnd != this)
        EndResizing();
    CMiniDockFrameWnd::OnCaptureChanged(pWnd);
}

void CExtMiniDockFrameWnd::ApplyTrackPoint(CPoint pt)
{
    if (g_bApplyingPoint || pt == m_ptLastTrack || m_nResizingHT == 0)
        return;
    g_bApplyingPoint = true;
    m_ptLastTrack = pt;
    CExtControlBar* pBar = GetControlBar();
    CRect rcWnd, rcClient;
    GetWindowRect(&rcWnd);
    GetClientRect(&rcClient);
    const CSize sizeNc(rcWnd.Width() - rcClient.Width(), rcWnd.Height() - rcClient.Height());
    CSize sizeMin(0, 0);
    if (pBar != NULL)
        sizeMin = CSize(pBar->GetMinHorzExtent(), pBar->GetMinVertExtent());
    sizeMin += sizeNc;
    UINT nHT = m_nResizingHT;
    const bool bFixed = pBar != NULL && pBar->IsFixedMode();
    if (bFixed)
    {
        if (nHT == HTTOPLEFT || nHT == HTTOPRIGHT)
            nHT = HTTOP;
        else if (nHT == HTBOTTOMLEFT || nHT == HTBOTTOMRIGHT)
            nHT = HTBOTTOM;
    }
    const bool bLeft = nHT == HTLEFT || nHT == HTTOPLEFT || nHT == HTBOTTOMLEFT;
    const bool bRight = nHT == HTRIGHT || nHT == HTTOPRIGHT || nHT == HTBOTTOMRIGHT;
    const bool bTop = nHT == HTTOP || nHT == HTTOPLEFT || nHT == HTTOPRIGHT;
    const bool bBottom = nHT == HTBOTTOM || nHT == HTBOTTOMLEFT || nHT == HTBOTTOMRIGHT;
    CRect rc = rcWnd;
    if (bLeft)
        rc.left = std::min(pt.x, rc.right);
    if (bRight)
        rc.right = std::max(pt.x, rc.left);
    if (bTop)
        rc.top = std::min(pt.y, rc.bottom);
    if (bBottom)
        rc.bottom = std::max(pt.y, rc.top);
    if (rc.Width() < sizeMin.cx)
    {
        rc.right = rc.left + sizeMin.cx;
        if (bLeft && rc.right > rcWnd.right)
            rc.OffsetRect(rcWnd.right - rc.right, 0);
    }
    if (rc.Height() < sizeMin.cy)
    {
        rc.bottom = rc.top + sizeMin.cy;
        if (bTop && rc.bottom > rcWnd.bottom)
            rc.OffsetRect(0, rcWnd.bottom - rc.bottom);
    }
    if (pBar != NULL && !bFixed)
    {
        const CSize sizeFloatMin = pBar->GetDefaultMinSize();
        if (rc.Width() < sizeFloatMin.cx)
            (bLeft ? rc.left = rc.right - sizeFloatMin.cx : rc.right = rc.left + sizeFloatMin.cx);
        if (rc.Height() < sizeFloatMin.cy)
            (bTop ? rc.top = rc.bottom - sizeFloatMin.cy : rc.bottom = rc.top + sizeFloatMin.cy);
        const CRect rcWork = WorkAreaOf(rc);
        if (!rcWork.IsRectEmpty())
        {
            if (rc.Width() > rcWork.Width())
                rc.right = rc.left + rcWork.Width();
            if (rc.Height() > rcWork.Height())
                rc.bottom = rc.top + rcWork.Height();
        }
        pBar->m_sizeFloated = CSize(rc.Width() - sizeNc.cx, rc.Height() - sizeNc.cy);
        MoveWindow(&rc, TRUE);
        RecalcLayout();
        SetTimer(1, 1, NULL);
    }
    else if (pBar != NULL)
        ApplyTrackPointFixed(pBar, rc, nHT);
    else
    {
        MoveWindow(&rc, TRUE);
        RecalcLayout();
    }
    g_bApplyingPoint = false;
}

void CExtMiniDockFrameWnd::ApplyTrackPointFixed(CExtControlBar* pBar, CRect rc, UINT nHT)
{
    CRect rcWnd, rcClient;
    GetWindowRect(&rcWnd);
    GetClientRect(&rcClient);
    const CSize sizeNc(rcWnd.Width() - rcClient.Width(), rcWnd.Height() - rcClient.Height());
    const bool bWidth = nHT == HTLEFT || nHT == HTRIGHT;
    CSize size;
    if (bWidth)
        size = pBar->CalcDynamicLayout(rc.Width() - sizeNc.cx, LM_HORZ | LM_COMMIT);
    else
        size = pBar->CalcDynamicLayout(rc.Height() - sizeNc.cy - ::GetSystemMetrics(SM_CYFRAME),
                                       LM_LENGTHY | LM_COMMIT | LM_HORZ);
    if (size == pBar->m_sizeFloated && CSize(rcClient.Size()) == size)
        return;
    pBar->m_sizeFloated = size;
    // A drag that began on the left or top edge keeps the right or bottom edge in place.
    CRect rcNew(rcWnd.TopLeft(), CSize(size.cx + sizeNc.cx, size.cy + sizeNc.cy));
    if (nHT == HTLEFT)
        rcNew.OffsetRect(m_rcResizingStart.right - rcNew.right, 0);
    if (nHT == HTTOP)
        rcNew.OffsetRect(0, m_rcResizingStart.bottom - rcNew.bottom);
    MoveWindow(&rcNew, TRUE);
    SendMessage(WM_NCPAINT);
    RecalcLayout();
    pBar->RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_ERASENOW);
}
