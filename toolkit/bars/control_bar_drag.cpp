// The bar drag loop: the modal loop that owns the mouse while a bar is dragged by its
// caption, its floating frame's caption or its tab, the per-move update that shows the
// target, the drop, and the inner markers over the bar under the cursor.
//
// The loop never spins on a quit request: it cancels the drag, leaves the request for the
// application's own loop once, and returns.
#include "toolkit/bars/control_bar.h"
#include "framework/afxres.h"
#include "framework/winthread.h"
#include "toolkit/bars/drag_tab_strip.h"
#include "toolkit/bars/dyn_control_bar.h"
#include "toolkit/bars/dyn_tab_control_bar.h"
#include "toolkit/bars/dyn_tab_wnd.h"
#include "toolkit/menus/popup_menu_wnd.h"

namespace {

const UINT_PTR kDragTimer = 0x1004;
const int kMaxTimerDispatch = 64;

const UINT kSideIds[4] = {AFX_IDW_DOCKBAR_TOP, AFX_IDW_DOCKBAR_BOTTOM, AFX_IDW_DOCKBAR_LEFT, AFX_IDW_DOCKBAR_RIGHT};

bool IsKeyMessage(UINT n) { return n >= WM_KEYFIRST && n <= WM_KEYLAST; }
bool IsMouseMessage(UINT n) { return n >= WM_MOUSEFIRST && n <= WM_MOUSEWHEEL; }
bool IsTabKind(int nKind) { return nKind >= 28 && nKind <= 30; }

BOOL PumpOne(CWinThread* pThread) { return pThread != NULL ? pThread->PumpMessage() : AfxPumpMessage(); }

// PeekMessage hands out a quit request whatever its filter says. A filtered removal puts
// such a request back and answers false, so that no quit request is ever lost.
bool RemoveFiltered(MSG& msg, HWND hWnd, UINT nFirst, UINT nLast)
{
    if (!::PeekMessage(&msg, hWnd, nFirst, nLast, PM_REMOVE))
        return false;
    if (msg.message != WM_QUIT)
        return true;
    ::PostQuitMessage(int(msg.wParam));
    return false;
}

// WaitMessage only waits for messages that arrive after the queue was last looked at;
// input queued before the loop started must not leave it waiting.
void WaitForMessage()
{
    MSG msg;
    if (!::PeekMessage(&msg, NULL, 0, 0, PM_NOREMOVE))
        ::WaitMessage();
}

void RunIdle(CWinThread* pThread, HWND hWndOwn)
{
    if (!CExtControlBar::g_bIdleWhileDragging || pThread == NULL)
        return;
    for (LONG nCount = 0; ::IsWindow(hWndOwn) && pThread->OnIdle(nCount); nCount++)
    {
    }
}

// What the threshold phase makes of one queued message.
enum ThresholdVerdict
{
    kPump,     // not ours: dispatch it
    kSkip,     // removed and ignored
    kStart,    // the cursor left the threshold box
    kClick,    // the button went up without a drag
    kCancel,   // ends without a drag
};

ThresholdVerdict ClassifyThreshold(const MSG& msg, HWND hWndOwn, CPoint ptStart, int cxThreshold, int cyThreshold)
{
    const UINT n = msg.message;
    if (n == WM_ACTIVATEAPP || n == WM_CANCELMODE || n == WM_CONTEXTMENU)
        return kCancel;
    if (n == WM_KEYDOWN && msg.wParam == VK_CONTROL)
        return kSkip;
    if (msg.hwnd == hWndOwn)
    {
        if (n == WM_LBUTTONUP)
            return kClick;
        if (n == WM_MOUSEMOVE)
        {
            // The position the move carries: queued moves are judged where they happened.
            const CPoint pt(msg.pt);
            if (abs(pt.x - ptStart.x) >= cxThreshold || abs(pt.y - ptStart.y) >= cyThreshold)
                return kStart;
            return kSkip;
        }
        if (n == WM_CAPTURECHANGED)
            return (HWND)msg.lParam != hWndOwn ? kCancel : kPump;
    }
    if (IsKeyMessage(n) || IsMouseMessage(n))
        return kCancel;
    return kPump;
}

}  // namespace

// ---- the loop ----------------------------------------------------------------------------------

void CExtControlBar::DragLoop(const POINT& ptScreen, const SIZE& sizeGrab, int cxThreshold, int cyThreshold)
{
    if (m_hWnd == NULL || (m_nActivityFlags & (__EAF_DRAGGING | __EAF_DRAG_LOOP)) != 0)
        return;
    if ((m_pDockSite != NULL && IsFrameRegistered(m_pDockSite)) || !IsDraggingAllowed())
        return;
    MSG msg;
    while (RemoveFiltered(msg, NULL, WM_KEYFIRST, WM_KEYLAST))
    {
    }
    const HWND hWndOwn = m_hWnd;
    CWinThread* pThread = AfxGetThread();
    CExtMouseCaptureSink::SetCapture(hWndOwn);
    m_nActivityFlags |= __EAF_DRAG_LOOP;
    CPoint ptClient(ptScreen);
    ScreenToClient(&ptClient);
    NcHitTestAndCursor(ptClient);

    if (cxThreshold > 0 && cyThreshold > 0)
    {
        ThresholdVerdict verdict = kPump;
        bool bQuit = false;
        WPARAM nExitCode = 0;
        WaitForMessage();
        // Measured from the press, so that moves already queued count.
        const CPoint ptStart(ptScreen);
        while (::IsWindow(hWndOwn))
        {
            if (!::PeekMessage(&msg, NULL, 0, 0, PM_NOREMOVE))
            {
                RunIdle(pThread, hWndOwn);
                ::WaitMessage();
                continue;
            }
            verdict = ClassifyThreshold(msg, hWndOwn, ptStart, cxThreshold, cyThreshold);
            if (verdict == kSkip)
            {
                MSG msgSkip;
                RemoveFiltered(msgSkip, msg.hwnd, msg.message, msg.message);
                continue;
            }
            if (verdict != kPump)
                break;
            nExitCode = msg.message == WM_QUIT ? msg.wParam : 0;
            if (!PumpOne(pThread))
            {
                bQuit = true;
                break;
            }
            RunIdle(pThread, hWndOwn);
        }
        if (!::IsWindow(hWndOwn))
        {
            if (bQuit)
                ::PostQuitMessage(int(nExitCode));
            return;
        }
        if (verdict != kStart)
        {
            if (verdict == kClick)
                FocusContentAfterClick();
            if (::GetCapture() == hWndOwn)
                ::ReleaseCapture();
            m_nActivityFlags &= ~__EAF_DRAG_LOOP;
            if (bQuit)
                ::PostQuitMessage(int(nExitCode));
            return;
        }
    }

    // The drag starts.
    NcHitTestAndCursor(ptClient);
    m_nActivityFlags &= ~__EAF_DRAG_LOOP;
    g_DraggingState.SetEmpty(true);
    g_DraggingStateNew.SetEmpty(true);
    g_DraggingState.m_pBarSrc = this;
    g_DraggingStateNew.m_pBarSrc = this;
    g_DraggingStateNew.SetEmpty(false);
    g_pDraggedBar = this;
    m_nDragValueA = m_nDragValueB = -1;
    OnStartDragging();
    if (!::IsWindow(hWndOwn))
        return;
    m_nActivityFlags |= __EAF_DRAGGING;
    InitGrabOffsets(sizeGrab);

    const bool bNoDocking = ::GetKeyState(VK_CONTROL) < 0;
    if (!IsFixedMode() && !IsFixedDockStyle() && QueryDockMarkerStyle() == 1)
    {
        DragUpdate(ptScreen, bNoDocking);
        if (::IsWindow(hWndOwn) && !g_DraggingStateNew.IsEmpty() && g_DraggingStateNew.m_nKind == 0)
            ApplyDraggingState(g_DraggingStateNew, false);
        if (::IsWindow(hWndOwn))
        {
            CExtDynDockMarkerWnd::CreateOuterMarkers(m_pDockSite, true);
            CExtDynDockMarkerWnd::UpdateInnerMarkers(m_pDockSite);
        }
    }
    else
        DragUpdate(ptScreen, bNoDocking);
    if (!::IsWindow(hWndOwn))
        return;
    ::SetTimer(hWndOwn, kDragTimer, 50, NULL);
    RunDragPhase();
    if (::IsWindow(hWndOwn))
        ::KillTimer(hWndOwn, kDragTimer);
}

void CExtControlBar::InitGrabOffsets(const SIZE& sizeGrab)
{
    const CRect rcCaption(m_rcCaption);
    int m = std::min(rcCaption.Width(), rcCaption.Height());
    if (m <= 2)
        m = ::GetSystemMetrics(SM_CYSMCAPTION);
    const CSize szDefault(m / 2, m / 2);
    for (int i = 0; i < 3; i++)
        SetGrabOffset(i, szDefault);
    if (sizeGrab.cx != 0 || sizeGrab.cy != 0)
        SetGrabOffset(GetGrabLayout(), sizeGrab);
}

void CExtControlBar::FocusContentAfterClick()
{
    HWND hWndFocus = ::GetWindow(m_hWnd, GW_CHILD);
    if (IsKindOf(RUNTIME_CLASS(CExtDynTabControlBar)))
    {
        // The selected tab's bar, or its first child.
        hWndFocus = NULL;
        CExtControlBar* pPage = static_cast<CExtDynTabControlBar*>(this)->GetSelectedBar();
        if (pPage != NULL && pPage->GetSafeHwnd() != NULL)
        {
            hWndFocus = ::GetWindow(pPage->m_hWnd, GW_CHILD);
            if (hWndFocus == NULL)
                hWndFocus = pPage->m_hWnd;
        }
    }
    if (hWndFocus == NULL)
        hWndFocus = m_hWnd;
    if (QueryFocusChangingEnabled(this, hWndFocus))
        ::SetFocus(hWndFocus);
}

bool CExtControlBar::IsTrackingCancelMessage(UINT nMsg)
{
    switch (nMsg)
    {
    case WM_ACTIVATEAPP:
    case WM_CANCELMODE:
    case WM_CONTEXTMENU:
    case WM_NCRBUTTONDOWN:
    case WM_NCRBUTTONUP:
    case WM_NCMBUTTONDOWN:
    case WM_NCMBUTTONUP:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
        return true;
    default:
        return false;
    }
}

// One pass of the main phase: the verdict on a queued message.
CExtControlBar::DragVerdict CExtControlBar::ClassifyDragMessage(MSG& msg)
{
    const HWND hWndOwn = m_hWnd;
    if (IsTrackingCancelMessage(msg.message) || msg.message == WM_NCLBUTTONUP)
        return __DRAG_STOP;
    switch (msg.message)
    {
    case WM_TIMER:
        if (msg.hwnd == hWndOwn && msg.wParam == kDragTimer)
        {
            MSG msgTimer;
            RemoveFiltered(msgTimer, hWndOwn, WM_TIMER, WM_TIMER);
            CPoint pt;
            ::GetCursorPos(&pt);
            ::ScreenToClient(hWndOwn, &pt);
            ::PostMessage(hWndOwn, WM_MOUSEMOVE, 0, MAKELPARAM(pt.x, pt.y));
            return __DRAG_HANDLED;
        }
        return __DRAG_PUMP;
    case WM_MOUSEMOVE:
    {
        // Only the newest queued move counts.
        MSG msgMove = msg;
        while (RemoveFiltered(msgMove, NULL, WM_MOUSEMOVE, WM_MOUSEMOVE))
            msg = msgMove;
        CPoint pt(GET_X_LPARAM(msg.lParam), GET_Y_LPARAM(msg.lParam));
        if (msg.hwnd != hWndOwn && msg.hwnd != NULL)
        {
            ::ClientToScreen(msg.hwnd, &pt);
            ::ScreenToClient(hWndOwn, &pt);
        }
        if (ProcessMouseMove(UINT(msg.wParam), pt))
            return __DRAG_HANDLED;
        return IsStillGrabbing() ? __DRAG_DISPATCH_REMOVED : __DRAG_STOP;
    }
    default:
        break;
    }
    if (IsKeyMessage(msg.message))
    {
        if (g_bDragUpdateInProgress)
            return __DRAG_PUMP;
        if ((msg.message == WM_KEYDOWN || msg.message == WM_KEYUP) && msg.wParam == VK_CONTROL)
        {
            CPoint pt;
            ::GetCursorPos(&pt);
            if (pt.x == m_nDragValueA && pt.y == m_nDragValueB)
                m_nDragValueA--;  // so that the next update is not skipped
            ::ScreenToClient(hWndOwn, &pt);
            ::PostMessage(hWndOwn, WM_MOUSEMOVE, msg.message == WM_KEYDOWN ? 0x11 : 0, MAKELPARAM(pt.x, pt.y));
            return __DRAG_PUMP;
        }
        return __DRAG_STOP;
    }
    return IsStillGrabbing() ? __DRAG_PUMP : __DRAG_STOP;
}

bool CExtControlBar::IsStillGrabbing() const
{
    return ::GetCapture() == m_hWnd && ::GetKeyState(VK_LBUTTON) < 0 && ::GetKeyState(VK_RBUTTON) >= 0 &&
           ::GetKeyState(VK_MBUTTON) >= 0;
}

void CExtControlBar::RunDragPhase()
{
    const HWND hWndOwn = m_hWnd;
    CWinThread* pThread = AfxGetThread();
    while (::IsWindow(hWndOwn) && (m_nActivityFlags & __EAF_DRAGGING) != 0)
    {
        WaitForMessage();
        MSG msg;
        while (::IsWindow(hWndOwn) && (m_nActivityFlags & __EAF_DRAGGING) != 0 &&
               ::PeekMessage(&msg, NULL, 0, 0, PM_NOREMOVE))
        {
            const DragVerdict verdict = ClassifyDragMessage(msg);
            if (!::IsWindow(hWndOwn))
                return;
            if (verdict == __DRAG_HANDLED)
                continue;
            if (verdict == __DRAG_STOP)
            {
                DragStop(true);
                return;
            }
            if (verdict == __DRAG_DISPATCH_REMOVED)
            {
                ::DispatchMessage(&msg);
                continue;
            }
            const WPARAM nExitCode = msg.message == WM_QUIT ? msg.wParam : 0;
            if (!PumpOne(pThread))
            {
                // The application is quitting: cancel, and leave the request for the outer
                // loop once.
                if (::IsWindow(hWndOwn))
                {
                    if ((m_nActivityFlags & __EAF_DRAGGING) != 0)
                        DragStop(true);
                    if (::GetCapture() == hWndOwn)
                        ::ReleaseCapture();
                    ::KillTimer(hWndOwn, kDragTimer);
                }
                ::PostQuitMessage(int(nExitCode));
                return;
            }
        }
        RunIdle(pThread, hWndOwn);
    }
}

// ---- one cursor position -------------------------------------------------------------------------

void CExtControlBar::DragUpdate(const POINT& ptScreen, bool bNoDocking)
{
    if (g_bDragUpdateInProgress || m_hWnd == NULL)
        return;
    if (ptScreen.x == m_nDragValueA && ptScreen.y == m_nDragValueB)
        return;
    m_nDragValueA = ptScreen.x;
    m_nDragValueB = ptScreen.y;
    g_bDragUpdateInProgress = true;
    const HWND hWndOwn = m_hWnd;
    g_DraggingStateNew.CalcDockTarget(ptScreen.x, ptScreen.y, bNoDocking);
    if (::IsWindow(hWndOwn))
    {
        if (g_DraggingStateNew == g_DraggingState)
            DragUpdateUnchanged(bNoDocking);
        else
            DragUpdateChanged(bNoDocking);
    }
    MSG msg;
    for (int i = 0; i < kMaxTimerDispatch && RemoveFiltered(msg, NULL, WM_TIMER, WM_TIMER); i++)
        ::DispatchMessage(&msg);
    if (::IsWindow(hWndOwn) && (m_nActivityFlags & __EAF_DRAGGING) != 0 && ::GetCapture() != hWndOwn)
        CExtMouseCaptureSink::SetCapture(hWndOwn);
    g_bDragUpdateInProgress = false;
}

void CExtControlBar::DragUpdateUnchanged(bool bNoDocking)
{
    const int nKind = g_DraggingStateNew.m_nKind;
    const int nStyle = QueryDockMarkerStyle();
    if (bNoDocking)
        CExtDynDockMarkerWnd::ShowAllMarkers(false);
    else if (IsTabKind(nKind))
    {
        if (nStyle == 1)
            CExtDynDockMarkerWnd::ClearHighlights(true);
        if (nKind != 30)
            CExtDynDockMarkerWnd::ShowAllMarkers(false);
    }
    else if (nStyle == 1 && !IsFixedMode())
    {
        CExtDynDockMarkerWnd::UpdateInnerMarkers(m_pDockSite);
        CExtDynDockMarkerWnd::ShowAllMarkers(true);
    }
    CExtPaintManager::PumpPaintMessages();
}

void CExtControlBar::DragUpdateChanged(bool bNoDocking)
{
    const HWND hWndOwn = m_hWnd;
    const bool bLive = UsesDockMarkerDrag();
    const int nStyle = QueryDockMarkerStyle();
    InternalDraggingState_t& stOld = g_DraggingState;
    InternalDraggingState_t& stNew = g_DraggingStateNew;
    if (!stOld.IsEmpty() &&
        (stNew.IsEmpty() || (stOld.m_nKind != 29 && stOld.m_nKind != 30) || stOld.m_pBarDst != stNew.m_pBarDst))
    {
        if (!IsTabKind(stOld.m_nKind))
            CExtPaintManager::PumpPaintMessages();
        stOld.DrawTracking(true);
        CExtPaintManager::PumpPaintMessages();
    }
    for (INT_PTR i = 0; i < g_AllBars.GetSize(); i++)
    {
        CExtControlBar* pBar = g_AllBars[i];
        if (pBar->GetSafeHwnd() == NULL || pBar->GetDockingFrame() != m_pDockSite ||
            !pBar->IsKindOf(RUNTIME_CLASS(CExtDynTabControlBar)) || (pBar->GetStyle() & WS_VISIBLE) == 0)
            continue;
        if (DragTabStrip::IsVisible(pBar))
            DragTabStrip::Find(pBar)->Invalidate();
    }
    if (!stOld.IsEmpty() && !stNew.IsEmpty() && IsTabKind(stOld.m_nKind))
        stOld.SetTargetBar(NULL, false);
    if (!stNew.IsEmpty())
    {
        if (!IsTabKind(stNew.m_nKind))
            CExtPaintManager::PumpPaintMessages();
        stNew.DrawTracking(false);
    }
    if (bLive && ::IsWindow(hWndOwn))
    {
        bool bApply = true;
        if (IsTabKind(stNew.m_nKind))
        {
            if (nStyle == 1)
            {
                CExtDynDockMarkerWnd::ClearHighlights(true);
                bApply = false;
            }
            if (stNew.m_nKind != 30)
                CExtDynDockMarkerWnd::ShowAllMarkers(false);
        }
        else if (nStyle == 1 && !IsFixedMode() && stNew.m_nKind != 26)
        {
            CExtDynDockMarkerWnd::UpdateInnerMarkers(m_pDockSite);
            if (!bNoDocking)
                CExtDynDockMarkerWnd::ShowAllMarkers(true);
        }
        if (bApply && !stOld.IsEmpty() && stOld != stNew)
            ApplyDraggingState(stNew, false);
    }
    if (::IsWindow(hWndOwn))
        g_DraggingState = g_DraggingStateNew;
}

// ---- the end -----------------------------------------------------------------------------------

void CExtControlBar::DragStop(bool bCancel)
{
    CExtDynDockMarkerWnd::DestroyAllMarkers();
    if ((m_nActivityFlags & __EAF_DRAGGING) == 0)
        return;
    const HWND hWndOwn = m_hWnd;
    m_nActivityFlags &= ~__EAF_DRAGGING;
    m_nDragValueA = m_nDragValueB = -1;
    const bool bShownEmpty = g_DraggingState.IsEmpty();
    const bool bSame = g_DraggingState == g_DraggingStateNew;
    // With markers a cancel still applies what the cursor last meant.
    if (QueryDockMarkerStyle() == 1)
        bCancel = false;
    if (!g_DraggingStateNew.IsEmpty())
    {
        if (!IsTabKind(g_DraggingStateNew.m_nKind))
            CExtPaintManager::PumpPaintMessages();
        g_DraggingStateNew.DrawTracking(true);
        OnDraggingDone(g_DraggingState, g_DraggingStateNew, bCancel);
        if (!bCancel && ::IsWindow(hWndOwn) &&
            (!UsesDockMarkerDrag() || (!bShownEmpty && !bSame) || QueryDockMarkerStyle() == 1))
        {
            // The drop may re-parent or destroy bars: apply a copy.
            const InternalDraggingState_t stDrop(g_DraggingStateNew);
            ApplyDraggingState(stDrop, true);
        }
    }
    g_DraggingState.SetEmpty(true);
    g_DraggingStateNew.SetEmpty(true);
    g_DraggingState.m_pBarSrc = g_DraggingStateNew.m_pBarSrc = NULL;
    if (g_pDraggedBar == this)
        g_pDraggedBar = NULL;
    if (!::IsWindow(hWndOwn))
        return;
    if (::GetCapture() == hWndOwn)
        ::ReleaseCapture();
    if (IsFloating() && !UsesDockMarkerDrag())
        RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    if (bCancel && m_pDockSite != NULL && m_pDockSite->GetSafeHwnd() != NULL)
        m_pDockSite->DelayRecalcLayout();
}

void CExtControlBar::OnDraggingDone(const InternalDraggingState_t&, const InternalDraggingState_t& stateNew,
                                    bool bCancel)
{
    if (m_hWnd != NULL)
    {
        HWND hWndFrame = ::GetWindow(m_hWnd, GW_OWNER);
        if (hWndFrame == NULL)
            hWndFrame = ::GetParent(m_hWnd);
        if (hWndFrame != NULL)
            ::SendMessage(hWndFrame, WM_SETMESSAGESTRING, AFX_IDS_IDLEMESSAGE, 0);
    }
    if (IsFixedDockStyle())
        return;
    CExtControlBar* pContainer = GetTabbedContainer();
    if (pContainer != NULL)
    {
        DragTabStrip::UnmarkDraggedTab(pContainer);
        if (bCancel)
            DragTabStrip::SelectBarTab(pContainer, this);
    }
    CExtControlBar* pTarget = stateNew.m_pBarDst;
    if (pTarget != NULL && pTarget != pContainer && pTarget->IsKindOf(RUNTIME_CLASS(CExtDynTabControlBar)))
        DragTabStrip::RemovePreview(pTarget);
}

// ---- applying a state ------------------------------------------------------------------------------

bool CExtControlBar::ApplyDraggingState(const InternalDraggingState_t& state, bool bFinal)
{
    CExtDynDockMarkerWnd::ClearHighlights(true);
    if (state.IsEmpty() || IsFixedDockStyle())
        return false;
    CExtControlBar* pSrc = state.m_pBarSrc != NULL ? state.m_pBarSrc : this;
    if (pSrc->GetSafeHwnd() == NULL)
        return false;
    CFrameWnd* pSite = pSrc->m_pDockSite;
    CFrameWnd* pOldFrame = pSrc->GetParentFrame();
    const HWND hWndOldFrame = pOldFrame != NULL ? pOldFrame->GetSafeHwnd() : NULL;
    CExtControlBar* pTarget = state.m_pBarDst;
    if (pTarget != NULL && pTarget->GetSafeHwnd() == NULL)
        pTarget = NULL;
    int nKind = state.m_nKind;
    // A target that vanished during the drag leaves the bar floating.
    if (state.m_pBarDst != NULL && pTarget == NULL)
        nKind = 0;
    if (bFinal && nKind >= 14 && nKind <= 26)
    {
        if (nKind <= 17)
            pSrc->DockAtFrameSide(kSideIds[nKind - 14], false, NULL, true);
        else if (nKind <= 21)
            pSrc->DockAtFrameSide(kSideIds[nKind - 18], true, NULL, true);
        else if (nKind <= 25)
        {
            if (pTarget != NULL)
                pSrc->DockNextTo(pTarget, kSideIds[nKind - 22], true);
        }
        else if (pTarget != NULL)
            pTarget->DockIntoTabbedBar(pSrc, 0, NULL, true);
        return true;
    }
    switch (nKind)
    {
    case 0:
        ApplyFloat(pSrc, state.m_rcTrack);
        break;
    case 1:
    case 2:
    case 3:
    case 4:
        if (pTarget != NULL)
            pSrc->DockNextTo(pTarget, kSideIds[nKind - 1], true);
        break;
    case 5:
    case 6:
    case 7:
    case 8:
    {
        const CRect rc(state.m_rcTrack);
        if (nKind <= 6)
            pSrc->m_sizeDockedH.cy = rc.Height();
        else
            pSrc->m_sizeDockedV.cx = rc.Width();
        if (pSite == NULL)
            return false;
        pSrc->DockIntoDockBar(kSideIds[nKind - 5], UINT(state.m_nRing), pSite, false);
        FinishDockIntoFrame(pSite, pSrc, hWndOldFrame);
        break;
    }
    case 9:
    case 10:
    case 11:
    case 12:
    {
        if (pSite == NULL)
            return false;
        const UINT nID = kSideIds[nKind - 9];
        CExtDockBar* pFrameDock = DYNAMIC_DOWNCAST(CExtDockBar, pSite->GetControlBar(nID));
        if (pFrameDock == NULL)
            return false;
        if (nKind >= 11)
            CExtDockBar::InsertRing(pSite, 1);
        CExtDockBar* pRing = pFrameDock->GetRingDockBar(1);
        if (pRing == NULL)
            return false;
        pRing->DockControlBar(pSrc, &state.m_rcTrack, false);
        FinishDockIntoFrame(pSite, pSrc, hWndOldFrame);
        break;
    }
    case 13:
        if (pSite != NULL)
            pSite->DelayRecalcLayout();
        break;
    case 14: case 15: case 16: case 17: case 18: case 19: case 20:
    case 21: case 22: case 23: case 24: case 25: case 26:
    {
        CPoint pt;
        ::GetCursorPos(&pt);
        CExtDynDockMarkerWnd* pMarker = CExtDynDockMarkerWnd::FromHandleMarker(::WindowFromPoint(pt));
        if (pMarker != NULL && pMarker->GetDockSideCode() == nKind)
            pMarker->ShowHighlight(true);
        break;
    }
    case 27:
    case 28:
    case 29:
    case 30:
        if (pTarget != NULL)
            pTarget->DockIntoTabbedBar(pSrc, state.GetTabIndexForDrop(), NULL, true);
        break;
    default:
        return false;
    }
    return true;
}

void CExtControlBar::ApplyFloat(CExtControlBar* pSrc, const RECT& rcTrack)
{
    CFrameWnd* pSite = pSrc->m_pDockSite;
    if (!pSrc->IsFloating() && pSrc->m_pDockBar != NULL)
    {
        // The nearest visible bar of the row takes over the length the bar leaves.
        CExtControlBar* pHeir = pSrc->FindRowNeighbour(true);
        if (pHeir == NULL || (pHeir->GetStyle() & WS_VISIBLE) == 0)
            pHeir = pSrc->FindRowNeighbour(false);
        if (pHeir != NULL && (pHeir->GetStyle() & WS_VISIBLE) != 0)
        {
            CRect rcWnd;
            pSrc->GetWindowRect(&rcWnd);
            if ((pSrc->m_pDockBar->m_dwStyle & CBRS_ORIENT_HORZ) != 0)
                pHeir->m_sizeDockedH.cx += rcWnd.Width();
            else
                pHeir->m_sizeDockedV.cy += rcWnd.Height();
        }
    }
    pSrc->RememberDockedSide();
    pSrc->FloatControlBar(rcTrack.left, rcTrack.top, CBRS_ALIGN_TOP);
    if (pSrc->GetSafeHwnd() == NULL)
        return;
    pSrc->m_ptFloatPos = CPoint(rcTrack.left, rcTrack.top);
    if (pSrc->m_pDockContext != NULL)
        pSrc->m_pDockContext->m_ptMRUFloatPos = pSrc->m_ptFloatPos;
    if (pSite == NULL || pSite->GetSafeHwnd() == NULL)
        return;
    if (!pSrc->UsesDockMarkerDrag())
    {
        pSite->RecalcLayout();
        return;
    }
    for (UINT nID : kSideIds)
    {
        CExtDockBar* pDock = DYNAMIC_DOWNCAST(CExtDockBar, pSite->GetControlBar(nID));
        CExtTabWnd* pArea = pDock != NULL ? reinterpret_cast<CExtTabWnd*>(pDock->GetAutoHideArea()) : NULL;
        if (pArea != NULL && pArea->GetSafeHwnd() != NULL)
            pArea->UpdateTabWnd(true);
    }
}

void CExtControlBar::FinishDockIntoFrame(CFrameWnd* pSite, CExtControlBar* pSrc, HWND hWndOldFrame)
{
    pSite->RecalcLayout();
    RecalcOldFrame(pSrc, hWndOldFrame);
    if (pSrc->GetSafeHwnd() != NULL)
        pSrc->SetWindowPos(NULL, 0, 0, 0, 0,
                           SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void CExtControlBar::RecalcOldFrame(CExtControlBar* pSrc, HWND hWndOldFrame)
{
    if (hWndOldFrame == NULL || !::IsWindow(hWndOldFrame))
        return;
    CFrameWnd* pOld = DYNAMIC_DOWNCAST(CFrameWnd, CWnd::FromHandlePermanent(hWndOldFrame));
    if (pOld == NULL || pOld == pSrc->m_pDockSite)
        return;
    if (pOld->IsKindOf(RUNTIME_CLASS(CExtMiniDockFrameWnd)))
        pOld->RecalcLayout();
    else
        pOld->DelayRecalcLayout();
}

// ---- inner markers ---------------------------------------------------------------------------------

namespace {

bool QualifiesForInnerMarkers(CControlBar* p, CExtControlBar* pDragged, CPoint pt)
{
    CExtControlBar* pBar = DYNAMIC_DOWNCAST(CExtControlBar, p);
    if (pBar == NULL || pBar == pDragged || pBar->IsDockBar() || pBar->GetSafeHwnd() == NULL || pBar->IsFixedMode() ||
        pBar->IsFixedDockStyle() || !pBar->IsWindowVisible())
        return false;
    CRect rc;
    pBar->GetWindowRect(&rc);
    return rc.PtInRect(pt) != FALSE;
}

// A bar that nests others stands for the nested bar under the cursor.
CExtControlBar* ResolveNested(CExtControlBar* pBar, CPoint pt)
{
    CExtDynControlBar* pDyn = DYNAMIC_DOWNCAST(CExtDynControlBar, pBar);
    if (pDyn == NULL || pBar->IsKindOf(RUNTIME_CLASS(CExtDynTabControlBar)) || pBar->GetTabbedContainer() != NULL)
        return pBar;
    HWND hWnd = CExtDynDockMarkerWnd::FindDockedBarWindowAt(pDyn, pt);
    CExtControlBar* pNested = DYNAMIC_DOWNCAST(CExtControlBar, CWnd::FromHandlePermanent(hWnd));
    return pNested != NULL ? pNested : pBar;
}

}  // namespace

void CExtDynDockMarkerWnd::UpdateInnerMarkers(CFrameWnd* pFrame, bool, CExtPaintManager* pPM)
{
    if (pPM == NULL)
        pPM = g_CurrentPaintManager.GetPM();
    CPoint pt;
    ::GetCursorPos(&pt);
    CExtControlBar* pDragged = CExtControlBar::GetDraggedBar();
    if (pDragged == NULL || pFrame == NULL || pFrame->GetSafeHwnd() == NULL || pPM == NULL)
        return;
    if (FromHandleMarker(::WindowFromPoint(pt)) != NULL)
        return;
    CFrameWnd* pOwnMini = pDragged->IsFloating() ? pDragged->GetParentFrame() : NULL;
    CExtControlBar* pFound = NULL;
    // Floating bars lie above the frame: they come first.
    for (POSITION pos = pFrame->m_listControlBars.GetHeadPosition(); pos != NULL && pFound == NULL;)
    {
        CControlBar* p = (CControlBar*)pFrame->m_listControlBars.GetNext(pos);
        if (!QualifiesForInnerMarkers(p, pDragged, pt))
            continue;
        CFrameWnd* pMini = p->GetParentFrame();
        if (pMini == NULL || pMini == pOwnMini || !pMini->IsKindOf(RUNTIME_CLASS(CExtMiniDockFrameWnd)) ||
            !pMini->IsWindowVisible())
            continue;
        CRect rcMini;
        pMini->GetWindowRect(&rcMini);
        if (rcMini.PtInRect(pt))
            pFound = ResolveNested(static_cast<CExtControlBar*>(p), pt);
    }
    for (POSITION pos = pFrame->m_listControlBars.GetHeadPosition(); pos != NULL && pFound == NULL;)
    {
        CControlBar* p = (CControlBar*)pFrame->m_listControlBars.GetNext(pos);
        if (!QualifiesForInnerMarkers(p, pDragged, pt))
            continue;
        CExtControlBar* pBar = static_cast<CExtControlBar*>(p);
        if (pBar->IsFloating() || pBar->GetParentFrame() != pFrame)
            continue;
        // A page of a group or a nested bar is reached through its container.
        if (pBar->m_pDockBar != NULL && pBar->m_pDockBar->IsKindOf(RUNTIME_CLASS(CExtDockDynBar)) &&
            pBar->GetTabbedContainer() == NULL)
            continue;
        pFound = ResolveNested(pBar, pt);
    }
    if (g_hWndInnerTarget != NULL && !::IsWindow(g_hWndInnerTarget))
        g_hWndInnerTarget = NULL;
    if (pFound != NULL && pFound->GetSafeHwnd() == g_hWndInnerTarget)
        return;
    if (pFound == NULL && g_hWndInnerTarget == NULL)
    {
        DestroyMarkers(g_arrInnerMarkers, true);
        return;
    }
    DestroyMarkers(g_arrInnerMarkers, true);
    const bool bTabMates = pFound != NULL && CExtControlBar::AreTabMates(pDragged, pFound);
    if (pFound == NULL || pFound->IsFixedMode() ||
        !(bTabMates || CExtControlBar::AreNeighbours(pDragged, pFound)))
    {
        g_hWndInnerTarget = NULL;
        return;
    }
    g_hWndInnerTarget = pFound->GetSafeHwnd();
    CRect rc;
    pFound->GetWindowRect(&rc);
    try
    {
        pPM->CreateDockMarkerWindows(pFound, bTabMates ? 7 : 6, rc, g_arrInnerMarkers);
    }
    catch (CException* e)
    {
        // A look without markers: the drag goes on without inner markers.
        e->Delete();
    }
    ShowMarkerArray(g_arrInnerMarkers, true, true);
}
