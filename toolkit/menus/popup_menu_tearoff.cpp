// Tear-off menus: dragging the caption at the top of a menu turns it into a floating
// control bar that the command receiver makes (g_nMsgTearOff, state 0). While the drag
// runs, the hooks give every input event to the drag object; the bar's floating frame
// follows the pointer (30 pixels right and 10 below its corner), and the menu shows again
// while the pointer is back near the caption. Without a receiver that makes a bar the
// press on the caption ends at once and the menu stays as it was.
#include "toolkit/menus/popup_menu_wnd.h"

#include "toolkit/core/resource_manager.h"

CString CExtPopupMenuWnd::stat_GetTearOffCaptionTip()
{
    CString sText;
    if (!g_CurrentResourceManager->LoadString(sText, 30402) || sText.IsEmpty())
        sText = _T("Drag to make this menu float");
    return sText;
}

void CExtPopupMenuWnd::StartTearOff()
{
    CPoint pt;
    if (!::GetCursorPos(&pt))
        return;
    HideMenuTip(true);
    TEAROFFNOTIFICATON tn(this, pt);
    tn.Run();
}

CExtPopupMenuWnd::TEAROFFNOTIFICATON::TEAROFFNOTIFICATON(CExtPopupMenuWnd* pPopup, const POINT& ptStart)
    : CExtHookSink(true), m_hWndBar(NULL), m_hWndMenu(pPopup != NULL ? pPopup->GetSafeHwnd() : NULL),
      m_hWndHookedFrame(NULL), m_pPopup(pPopup), m_pBar(NULL), m_ptStart(ptStart), m_sizeThreshold(5, 5),
      m_rcStartZone(ptStart.x - 5, ptStart.y - 5, ptStart.x + 5, ptStart.y + 5), m_rcFrame(0, 0, 0, 0),
      m_nFlags(0), m_nState(__TNS_START)
{
}

CExtPopupMenuWnd::TEAROFFNOTIFICATON::~TEAROFFNOTIFICATON()
{
    RemoveAllWndHooks();
    if (g_pActiveTearOff == this)
        g_pActiveTearOff = NULL;
}

void CExtPopupMenuWnd::TEAROFFNOTIFICATON::SendToReceiver()
{
    HWND hWndRecv = (m_pPopup != NULL && ::IsWindow(m_hWndMenu)) ? m_pPopup->GetCmdReceiverHWND() : NULL;
    if (hWndRecv != NULL && ::IsWindow(hWndRecv))
        ::SendMessage(hWndRecv, g_nMsgTearOff, (WPARAM)this, 0);
}

bool CExtPopupMenuWnd::TEAROFFNOTIFICATON::Run()
{
    HWND hWndRecv = (m_pPopup != NULL) ? m_pPopup->GetCmdReceiverHWND() : NULL;
    if (hWndRecv == NULL || !::IsWindow(hWndRecv))
        return false;
    m_nState = __TNS_START;
    ::SendMessage(hWndRecv, g_nMsgTearOff, (WPARAM)this, 0);
    if (m_hWndBar == NULL || !::IsWindow(m_hWndBar) || (m_nFlags & __TNF_CANCELED) != 0)
        return false;
    CControlBar* pBar = DYNAMIC_DOWNCAST(CControlBar, CWnd::FromHandlePermanent(m_hWndBar));
    m_pBar = (pBar != NULL && pBar->m_pDockSite != NULL) ? pBar : NULL;
    return DragLoop();
}

void CExtPopupMenuWnd::TEAROFFNOTIFICATON::HookFrame(HWND hWnd)
{
    if (hWnd == NULL || !::IsWindow(hWnd) || m_hWndHookedFrame != NULL)
        return;
    if (SetupHookWndSink(hWnd, false, false))
        m_hWndHookedFrame = hWnd;
}

bool CExtPopupMenuWnd::TEAROFFNOTIFICATON::DragLoop()
{
    g_pActiveTearOff = this;
    m_nFlags &= ~__TNF_HIDING;
    m_nState = __TNS_STEP;
    if (m_hWndHookedFrame == NULL)
    {
        if (m_pBar != NULL)
        {
            if (m_pBar->IsFloating())
                HookFrame(::GetParent(::GetParent(m_hWndBar)));
        }
        else
            HookFrame(m_hWndBar);
    }
    while ((m_nFlags & __TNF_ENDED) == 0)
    {
        if ((m_nFlags & __TNF_CANCELED) != 0 || !::IsWindow(m_hWndMenu))
            break;
        if (!::IsWindow(m_hWndBar))
        {
            m_nFlags |= __TNF_CANCELED;
            break;
        }
        stat_PumpPendingMessages(false);
        if ((m_nFlags & __TNF_ENDED) != 0)
            break;
        DragStep(false);
        CExtPaintManager::PumpPaintMessages(true, true, true);
        if ((m_nFlags & (__TNF_ENDED | __TNF_CANCELED)) == 0)
            ::MsgWaitForMultipleObjects(0, NULL, FALSE, 10, QS_ALLINPUT);
    }
    ::ReleaseCapture();
    RemoveAllWndHooks();
    m_hWndHookedFrame = NULL;
    if (::IsWindow(m_hWndMenu))
    {
        m_nState = __TNS_FINISHED;
        SendToReceiver();
        if (::IsWindow(m_hWndMenu) && !::IsWindowVisible(m_hWndMenu))
        {
            // Torn off: the bar carries the commands now, the menus go.
            if (g_pActiveTearOff == this)
                g_pActiveTearOff = NULL;
            CancelMenuTracking();
            if (g_PopupBarServices.IsButtonMenuTracking())
                g_PopupBarServices.CancelAllButtonMenuTracking();
        }
    }
    if (g_pActiveTearOff == this)
        g_pActiveTearOff = NULL;
    return (m_nFlags & __TNF_ENDED) != 0;
}

bool CExtPopupMenuWnd::TEAROFFNOTIFICATON::IsInStartZone(const POINT& ptScreen)
{
    if (m_rcStartZone.PtInRect(ptScreen))
        return true;
    if (m_pPopup == NULL || !::IsWindow(m_hWndMenu))
        return false;
    CRect rcCaption = m_pPopup->m_rcTearOff;
    m_pPopup->ClientToScreen(&rcCaption);
    rcCaption.InflateRect(0, 15);
    return rcCaption.PtInRect(ptScreen) != FALSE;
}

void CExtPopupMenuWnd::TEAROFFNOTIFICATON::RepaintChain()
{
    for (CExtPopupMenuWnd* pMenu = m_pPopup; pMenu != NULL; pMenu = pMenu->m_pParentMenu)
        if (pMenu->GetSafeHwnd() != NULL && pMenu->GetShadowSize() > 0)
            ::InvalidateRect(pMenu->GetSafeHwnd(), NULL, TRUE);
    m_rcFrame.SetRectEmpty();
    CExtPaintManager::PumpPaintMessages(true, true, true);
}

void CExtPopupMenuWnd::TEAROFFNOTIFICATON::DragStep(bool bFromHook)
{
    (void)bFromHook;
    if ((m_nFlags & __TNF_ENDED) != 0 || !::IsWindow(m_hWndBar) || !::IsWindow(m_hWndMenu) ||
        m_pPopup->GetSafeHwnd() != m_hWndMenu)
        return;
    m_nState = __TNS_STEP;
    SendToReceiver();
    if (m_pBar == NULL || m_pBar->GetSafeHwnd() == NULL || m_pBar->m_pDockSite == NULL ||
        m_pBar->m_pDockSite->GetSafeHwnd() == NULL)
    {
        m_nFlags |= __TNF_CANCELED;
        return;
    }
    CFrameWnd* pSite = m_pBar->m_pDockSite;
    CPoint pt;
    if (!::GetCursorPos(&pt))
        return;
    if (!IsInStartZone(pt))
    {
        bool bRepaintTree = false;
        if ((m_nFlags & __TNF_BAR_SHOWN) == 0)
        {
            m_nFlags |= __TNF_BAR_SHOWN;
            if (m_pBar->IsWindowVisible())
            {
                pSite->ShowControlBar(m_pBar, FALSE, FALSE);
                if (m_pBar->IsFloating())
                {
                    CRect rcFrame;
                    ::GetWindowRect(::GetParent(::GetParent(m_hWndBar)), &rcFrame);
                    bRepaintTree = m_pPopup->IsRectOnMenuTree(&rcFrame, true);
                }
            }
        }
        if (m_pBar->m_pDockBar == NULL && !m_pBar->IsFloating() && m_pBar->m_pDockContext != NULL)
        {
            pSite->FloatControlBar(m_pBar, CPoint(pt.x - 30, pt.y - 10), CBRS_ALIGN_TOP);
            bRepaintTree = true;
        }
        if (bRepaintTree)
            m_pPopup->RepaintUnderlyingWindows();
        if (!::IsWindow(m_hWndMenu) || !::IsWindow(m_hWndBar))
            return;
        if (::IsWindowVisible(m_hWndMenu))
            ::ShowWindow(m_hWndMenu, SW_HIDE);
        const CPoint ptFrame(pt.x - 30, pt.y - 10);
        if (m_pBar->IsFloating() || m_pBar->m_pDockContext != NULL)
            pSite->FloatControlBar(m_pBar, ptFrame, CBRS_ALIGN_TOP);
        if (m_hWndHookedFrame == NULL && m_pBar->IsFloating())
            HookFrame(::GetParent(::GetParent(m_hWndBar)));
        if (!m_pBar->IsWindowVisible())
            pSite->ShowControlBar(m_pBar, TRUE, FALSE);
        CRect rcBar;
        m_pBar->GetWindowRect(&rcBar);
        for (CExtPopupMenuWnd* pMenu = m_pPopup; pMenu != NULL; pMenu = pMenu->m_pParentMenu)
        {
            if (pMenu->GetSafeHwnd() == NULL || !pMenu->IsWindowVisible())
                continue;
            CRect rcMenu, rcX;
            pMenu->GetWindowRect(&rcMenu);
            if (rcX.IntersectRect(&rcMenu, &rcBar))
            {
                CClientDC dc(pMenu);
                pMenu->OnPaintMenu(dc, true);
            }
        }
    }
    else if (!::IsWindowVisible(m_hWndMenu))
    {
        if (m_pBar->IsWindowVisible())
            pSite->ShowControlBar(m_pBar, FALSE, FALSE);
        m_nFlags |= __TNF_HIDING;
        ::SetWindowPos(m_hWndMenu, NULL, 0, 0, 0, 0,
                       SWP_SHOWWINDOW | SWP_NOACTIVATE | SWP_NOREDRAW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER);
        for (CExtPopupMenuWnd* pMenu = m_pPopup->m_pParentMenu; pMenu != NULL; pMenu = pMenu->m_pParentMenu)
        {
            if (pMenu->GetSafeHwnd() == NULL)
                continue;
            pMenu->m_shadow.Reset();
            pMenu->m_shadowCombined.Reset();
            CClientDC dc(pMenu);
            pMenu->OnPaintMenu(dc, true);
        }
        {
            CClientDC dc(m_pPopup);
            m_pPopup->OnPaintMenu(dc, true);
        }
        m_nFlags &= ~__TNF_HIDING;
    }
    if (::IsWindow(m_hWndBar) && ::GetCapture() != m_hWndBar)
        ::SetCapture(m_hWndBar);
}

bool CExtPopupMenuWnd::TEAROFFNOTIFICATON::_OnHookKey(UINT, UINT, UINT) { return g_pActiveTearOff == this; }

bool CExtPopupMenuWnd::TEAROFFNOTIFICATON::_OnHookMouseMove(UINT, int, int)
{
    if (g_pActiveTearOff != this)
        return false;
    DragStep(true);
    return true;
}

bool CExtPopupMenuWnd::TEAROFFNOTIFICATON::_OnHookMouseButton(UINT nMessage, int, int)
{
    if (g_pActiveTearOff != this)
        return false;
    DragStep(true);
    switch (nMessage)
    {
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
    case WM_NCLBUTTONUP:
    case WM_NCRBUTTONUP:
    case WM_NCMBUTTONUP: m_nFlags |= __TNF_ENDED; break;
    default: break;
    }
    return true;
}

bool CExtPopupMenuWnd::TEAROFFNOTIFICATON::_OnHookMouseWheel(UINT, MOUSEHOOKSTRUCT*)
{
    if (g_pActiveTearOff != this)
        return false;
    DragStep(true);
    m_nFlags |= __TNF_ENDED;
    return true;
}

bool CExtPopupMenuWnd::TEAROFFNOTIFICATON::OnHookWndMsg(LRESULT& lResult, HWND hWndHooked, UINT nMessage,
                                                        WPARAM& wParam, LPARAM& lParam)
{
    switch (nMessage)
    {
    case WM_SIZE:
    case WM_WINDOWPOSCHANGED:
        if (m_pBar == NULL && ::IsWindowVisible(hWndHooked))
        {
            const bool bResult = CExtHookSink::OnHookWndMsg(lResult, hWndHooked, nMessage, wParam, lParam);
            RepaintChain();
            return bResult;
        }
        break;
    case WM_SHOWWINDOW:
    {
        if (wParam == 0)
            m_nFlags |= __TNF_HIDING;
        const bool bResult = CExtHookSink::OnHookWndMsg(lResult, hWndHooked, nMessage, wParam, lParam);
        RepaintChain();
        return bResult;
    }
    default:
        if (nMessage == g_nMsgCustomFloatPos && (HWND)wParam == m_hWndHookedFrame && lParam != 0)
        {
            m_rcFrame = *(const RECT*)lParam;
            const bool bResult = CExtHookSink::OnHookWndMsg(lResult, hWndHooked, nMessage, wParam, lParam);
            RepaintChain();
            return bResult;
        }
        break;
    }
    return CExtHookSink::OnHookWndMsg(lResult, hWndHooked, nMessage, wParam, lParam);
}
