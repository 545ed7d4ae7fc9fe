// The grid base window's own tool tip, its share of the popup menus' tip window, and the
// content-expand popup that a scroll takes away.
#include "toolkit/grid/grid_base_wnd.h"
#include "toolkit/menus/popup_menu_wnd.h"
#include "toolkit/menus/popup_tracking_site.h"

CExtPopupMenuTipWnd* CExtGridBaseWnd::GetSharedTipWnd()
{
    return m_nTipMode != 0 ? g_PopupTrackingSite.GetTip() : NULL;
}

bool CExtGridBaseWnd::OnInitializeWindow()
{
    if (!CExtScrollItemWnd::OnInitializeWindow())
        return false;
    if (GetSharedTipWnd() == NULL && m_wndToolTip.m_hWnd == NULL && m_wndToolTip.Create(this))
        m_wndToolTip.Activate(TRUE);
    return true;
}

BOOL CExtGridBaseWnd::PreTranslateMessage(MSG* pMsg)
{
    if (!CExtPopupMenuWnd::IsMenuTracking() && m_wndToolTip.m_hWnd != NULL && GetSharedTipWnd() == NULL)
        m_wndToolTip.RelayEvent(pMsg);
    return CExtScrollItemWnd::PreTranslateMessage(pMsg);
}

LRESULT CExtGridBaseWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NOTIFY && lParam != 0 && m_wndToolTip.m_hWnd != NULL)
    {
        const NMHDR* pHdr = (const NMHDR*)lParam;
        // A tip shown under another topmost window would stay hidden behind it.
        if (pHdr->hwndFrom == m_wndToolTip.m_hWnd && pHdr->code == TTN_SHOW)
            ::SetWindowPos(m_wndToolTip.m_hWnd, HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
    }
    return CExtScrollItemWnd::WindowProc(message, wParam, lParam);
}

bool CExtGridBaseWnd::OnScrollBy(CSize sizeScroll, bool bDoScroll)
{
    if (sizeScroll.cx != 0 || sizeScroll.cy != 0)
    {
        if (m_wndContentExpand.GetSafeHwnd() != NULL)
            m_wndContentExpand.Deactivate();
        m_htiExpanded = HIT_TEST_INFO(-1, -1);
    }
    m_nVirtualScrollMarks = 0;
    if (GetScrollTypeH() == __ESIS_ST_UNBOUNDED)
        m_nVirtualScrollMarks |= 2;
    if (GetScrollTypeV() == __ESIS_ST_UNBOUNDED)
        m_nVirtualScrollMarks |= 4;
    const bool bResult = CExtScrollItemWnd::OnScrollBy(sizeScroll, bDoScroll);
    m_nVirtualScrollMarks = 0;
    return bResult;
}

bool CExtGridBaseWnd::DoMouseWheel(UINT nFlags, short zDelta, POINT pt)
{
    // The wheel would scroll the cell away from under its open editor.
    HWND hWndEditor = GetSafeInplaceActiveHwnd();
    if (hWndEditor != NULL && ::IsWindow(hWndEditor))
        return true;
    // The popup shows a cell that is about to move away.
    if (m_wndContentExpand.GetSafeHwnd() != NULL)
        m_wndContentExpand.Deactivate();
    const bool bResult = CExtScrollItemWnd::DoMouseWheel(nFlags, zDelta, pt);
    POINT ptClient = pt;
    if (m_hWnd != NULL && ::ScreenToClient(m_hWnd, &ptClient))
        OnHoverUpdate(&ptClient);
    return bResult;
}
