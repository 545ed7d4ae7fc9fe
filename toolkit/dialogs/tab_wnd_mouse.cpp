// The tab window's messages: selection, clicks on items and buttons, pushed and hover
// tracking, smooth and page scrolling, the list menu, delayed selection on hover, the
// drag-reorder loop, tooltips, focus and the system-change relay.
#include "toolkit/dialogs/tab_wnd.h"
#include "toolkit/dialogs/tab_neighbours.h"

#include <algorithm>
#include "toolkit/core/cmd_manager.h"
#include "toolkit/menus/popup_menu_wnd.h"
#include "toolkit/menus/popup_menu_tip_wnd.h"
#include "toolkit/menus/popup_tracking_site.h"

BEGIN_MESSAGE_MAP(CExtTabWnd, CWnd)
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_SIZE()
    ON_WM_WINDOWPOSCHANGED()
    ON_WM_SHOWWINDOW()
    ON_MESSAGE(WM_SIZEPARENT, &CExtTabWnd::OnSizeParent)
    ON_MESSAGE(WM_SETTINGCHANGE, &CExtTabWnd::OnSettingChangeMsg)
    ON_MESSAGE(WM_THEMECHANGED, &CExtTabWnd::OnThemeChangedMsg)
    ON_MESSAGE(WM_LBUTTONDOWN, &CExtTabWnd::OnMouseButtonMsg)
    ON_MESSAGE(WM_LBUTTONUP, &CExtTabWnd::OnMouseButtonMsg)
    ON_MESSAGE(WM_RBUTTONDOWN, &CExtTabWnd::OnMouseButtonMsg)
    ON_MESSAGE(WM_RBUTTONUP, &CExtTabWnd::OnMouseButtonMsg)
    ON_MESSAGE(WM_MBUTTONDOWN, &CExtTabWnd::OnMouseButtonMsg)
    ON_MESSAGE(WM_MBUTTONUP, &CExtTabWnd::OnMouseButtonMsg)
    ON_MESSAGE(WM_LBUTTONDBLCLK, &CExtTabWnd::OnNothingMsg)
    ON_MESSAGE(WM_RBUTTONDBLCLK, &CExtTabWnd::OnNothingMsg)
    ON_MESSAGE(WM_MBUTTONDBLCLK, &CExtTabWnd::OnNothingMsg)
    ON_MESSAGE(WM_CONTEXTMENU, &CExtTabWnd::OnNothingMsg)
    ON_MESSAGE(WM_MOUSEMOVE, &CExtTabWnd::OnMouseMoveMsg)
    ON_MESSAGE(WM_TIMER, &CExtTabWnd::OnTimerMsg)
    ON_MESSAGE(WM_CANCELMODE, &CExtTabWnd::OnCancelModeMsg)
    ON_MESSAGE(WM_CAPTURECHANGED, &CExtTabWnd::OnCaptureChangedMsg)
    ON_MESSAGE(WM_SETFOCUS, &CExtTabWnd::OnSetFocusMsg)
    ON_MESSAGE(WM_MOUSEACTIVATE, &CExtTabWnd::OnMouseActivateMsg)
    ON_MESSAGE(WM_SETCURSOR, &CExtTabWnd::OnSetCursorMsg)
END_MESSAGE_MAP()

namespace {

// The control-bar subsystem's registered query: is this window left out of a frame's
// size pass. Registered here by the same name so the strip can answer it.
const UINT g_nMsgQueryRepositionCalcEffect =
    ::RegisterWindowMessage(_T("CExtControlBar::g_nMsgQueryRepositionCalcEffect"));

WORD PressedStateOf(int nHitTest)
{
    switch (nHitTest)
    {
    case -4: return CExtTabWnd::__ETWST_PRESSED_UP;
    case -5: return CExtTabWnd::__ETWST_PRESSED_DOWN;
    case -6: return CExtTabWnd::__ETWST_PRESSED_HELP;
    case -7: return CExtTabWnd::__ETWST_PRESSED_CLOSE;
    case -8: return CExtTabWnd::__ETWST_PRESSED_TAB_LIST;
    case -9: return CExtTabWnd::__ETWST_PRESSED_HOME;
    case -10: return CExtTabWnd::__ETWST_PRESSED_END;
    default: return 0;
    }
}

const WORD PRESSED_ALL = 0x1FC0;

}  // namespace

LRESULT CExtTabWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NOTIFY && lParam != 0 && m_pToolTip != NULL &&
        m_pToolTip->GetSafeHwnd() != NULL)
    {
        const NMHDR* pNMHDR = reinterpret_cast<const NMHDR*>(lParam);
        if (pNMHDR->code == TTN_SHOW && pNMHDR->hwndFrom == m_pToolTip->GetSafeHwnd())
            ::SetWindowPos(pNMHDR->hwndFrom, HWND_TOP, 0, 0, 0, 0,
                           SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
    if (message != 0 && message == g_nMsgQueryRepositionCalcEffect)
        return OnQueryRepositionCalcEffect(wParam, lParam);
    return CWnd::WindowProc(message, wParam, lParam);
}

BOOL CExtTabWnd::PreTranslateMessage(MSG* pMsg)
{
    if (OnTabWndToolTipsEnabled() && m_pToolTip != NULL && m_pToolTip->GetSafeHwnd() != NULL &&
        !CExtPopupMenuWnd::IsMenuTracking())
        m_pToolTip->RelayEvent(pMsg);
    return CWnd::PreTranslateMessage(pMsg);
}

LRESULT CExtTabWnd::OnQueryRepositionCalcEffect(WPARAM wParam, LPARAM)
{
    // A strip that follows an MDI client places itself; the frame's query pass must not
    // count its band twice.
    if ((m_nTabWndFlags & 0x01) == 0)
        return 0;
    CWnd* pWnd = NULL;
    if (CExtTabBarServices::ReposQueryInfo(wParam, &pWnd) && pWnd != NULL &&
        pWnd->IsKindOf(RUNTIME_CLASS(CFrameWnd)))
        CExtTabBarServices::ReposSetSkip(wParam);
    return 0;
}

LRESULT CExtTabWnd::OnNothingMsg(WPARAM, LPARAM) { return 0; }

// ---- size and system changes --------------------------------------------------------------

void CExtTabWnd::OnSize(UINT nType, int cx, int cy)
{
    CWnd::OnSize(nType, cx, cy);
    _HideTips();
    UpdateTabWnd(true);
}

void CExtTabWnd::OnWindowPosChanged(WINDOWPOS* lpwndpos)
{
    CWnd::OnWindowPosChanged(lpwndpos);
    if ((GetStyle() & WS_VISIBLE) == 0)
        return;
    _HideTips();
    UpdateTabWnd(true);
}

void CExtTabWnd::OnShowWindow(BOOL bShow, UINT nStatus)
{
    CWnd::OnShowWindow(bShow, nStatus);
    if ((GetStyle() & WS_VISIBLE) != 0)
        UpdateTabWnd(true);
}

LRESULT CExtTabWnd::OnSettingChangeMsg(WPARAM wParam, LPARAM lParam)
{
    const LRESULT lResult = Default();
    CExtPaintManager* pPM = GetPaintManager();
    g_CurrentPaintManager.RelaySystemChange(this, pPM, WM_SETTINGCHANGE, wParam, lParam);
    Invalidate();
    return lResult;
}

LRESULT CExtTabWnd::OnThemeChangedMsg(WPARAM wParam, LPARAM lParam)
{
    const LRESULT lResult = Default();
    CExtPaintManager* pPM = GetPaintManager();
    g_CurrentPaintManager.RelaySystemChange(this, pPM, WM_THEMECHANGED, wParam, lParam);
    return lResult;
}

// ---- tooltips ------------------------------------------------------------------------------

void CExtTabWnd::_HideTips()
{
    CExtPopupMenuTipWnd* pTip = g_PopupTrackingSite.GetTip();
    if (pTip != NULL && pTip->GetSafeHwnd() != NULL && pTip->IsWindowVisible())
        pTip->Hide();
    if (m_pToolTip != NULL && m_pToolTip->GetSafeHwnd() != NULL)
    {
        m_pToolTip->DelTool(this, 1);
        m_pToolTip->Activate(FALSE);
        m_pToolTip->Activate(TRUE);
    }
}

void CExtTabWnd::_ShowTip(const CRect& rcClient, const CString& sText)
{
    if (sText.IsEmpty())
    {
        _HideTips();
        return;
    }
    CExtPopupMenuTipWnd* pTip = g_PopupTrackingSite.GetTip();
    if (pTip != NULL)
    {
        CRect rcScreen = rcClient;
        rcScreen.InflateRect(4, 4);
        ClientToScreen(&rcScreen);
        pTip->SetTipStyle(CExtPopupMenuTipWnd::__ETS_RECTANGLE_NO_ICON);
        pTip->SetText(sText);
        pTip->Show(this, rcScreen);
        return;
    }
    if (m_pToolTip != NULL && m_pToolTip->GetSafeHwnd() != NULL)
    {
        m_pToolTip->DelTool(this, 1);
        m_pToolTip->AddTool(this, sText, &rcClient, 1);
    }
}

// ---- selection --------------------------------------------------------------------------------

int CExtTabWnd::SelectionSet(int nIndex, bool bEnsureVisible, bool bUpdate)
{
    const int nOld = m_nSelIndex;
    if (nIndex < 0 || nIndex >= ItemGetCount())
        nIndex = -1;
    if (!OnTabWndSelectionChange(nOld, nIndex, true))
        return nOld;
    TAB_ITEM_INFO* pOld = ItemGet(nOld);
    if (pOld != NULL)
        pOld->ModifyItemStyle(TAB_ITEM_INFO::__ETWI_SELECTED, 0);
    m_nSelIndex = nIndex;
    TAB_ITEM_INFO* pNew = ItemGet(nIndex);
    if (pNew != NULL)
        pNew->ModifyItemStyle(0, TAB_ITEM_INFO::__ETWI_SELECTED);
    if (!OnTabWndSelectionChange(nOld, nIndex, false))
        return nIndex;
    if (bEnsureVisible && m_nSelIndex >= 0)
    {
        // The selected item may change its size (bold text): measure before scrolling.
        m_wTabWndState |= __ETWST_DELAY_RECALC;
        RecalcLayout();
        ItemEnsureVisible(m_nSelIndex, bUpdate);
    }
    else
        UpdateTabWnd(bUpdate);
    return nOld;
}

bool CExtTabWnd::SelectionDelay(int nIndex, UINT nElapse)
{
    if (m_nDelayedSelIndex >= 0)
    {
        if (GetSafeHwnd() != NULL)
            KillTimer(ID_TIMER_DELAYED_SELECTION);
        m_nDelayedSelIndex = -1;
    }
    if (nIndex < 0)
        return true;
    TAB_ITEM_INFO* pTii = ItemGet(nIndex);
    if (pTii == NULL || m_nVisibleItemCount <= 0 || !pTii->VisibleGet())
        return false;
    m_nDelayedSelIndex = nIndex;
    if (GetSafeHwnd() != NULL)
        SetTimer(ID_TIMER_DELAYED_SELECTION, nElapse, NULL);
    return true;
}

// ---- moving items -------------------------------------------------------------------------

bool CExtTabWnd::ItemMove(int nIndexFrom, int nIndexTo, bool bUpdate)
{
    const int nCount = ItemGetCount();
    if (nCount == 0 || nIndexFrom < 0 || nIndexFrom >= nCount || nIndexTo < 0 ||
        nIndexTo >= nCount || nIndexFrom == nIndexTo)
        return false;
    if (!OnTabWndItemPosChanging(nIndexFrom, nIndexTo))
        return false;
    ItemMoveImpl(nIndexFrom, nIndexTo);
    UpdateTabWnd(bUpdate);
    OnTabWndItemPosChanged(nIndexFrom, nIndexTo);
    return true;
}

void CExtTabWnd::ItemMoveImpl(int nIndexFrom, int nIndexTo)
{
    ItemEnsureVisible(nIndexTo, false);
    TAB_ITEM_INFO* pOld = m_arrItems[nIndexFrom];
    const CString sText = pOld->GetText();
    CExtCmdIcon icon;
    CExtCmdIcon* pIcon = OnTabWndQueryItemIcon(pOld);
    if (pIcon != NULL)
        icon = *pIcon;
    const DWORD dwStyle = pOld->GetItemStyle();
    const LPARAM lParam = pOld->LParamGet();
    const bool bForward = nIndexTo > nIndexFrom;
    // The copy is selected below, through the selection change, not by its style.
    ItemInsert(sText, icon, dwStyle & ~DWORD(TAB_ITEM_INFO::__ETWI_SELECTED), bForward ? nIndexTo + 1 : nIndexTo,
               lParam, false);
    ItemRemove(bForward ? nIndexFrom : nIndexFrom + 1, 1, false);
    SelectionSet(nIndexTo, false, false);
}

// ---- clicks --------------------------------------------------------------------------------

LRESULT CExtTabWnd::OnMouseButtonMsg(WPARAM wParam, LPARAM lParam)
{
    const MSG* pMsg = GetCurrentMessage();
    const UINT message = (pMsg != NULL) ? pMsg->message : WM_LBUTTONDOWN;
    const bool bPressed = message == WM_LBUTTONDOWN || message == WM_RBUTTONDOWN || message == WM_MBUTTONDOWN;
    int nMouseButton = 1;
    if (message == WM_RBUTTONDOWN || message == WM_RBUTTONUP)
        nMouseButton = 2;
    else if (message == WM_MBUTTONDOWN || message == WM_MBUTTONUP)
        nMouseButton = 16;
    const CPoint point((short)LOWORD(lParam), (short)HIWORD(lParam));
    if (!OnTabWndProcessClick(point, bPressed, nMouseButton, (UINT)wParam))
        return Default();
    return 0;
}

bool CExtTabWnd::OnTabWndProcessClick(const POINT& point, bool bButtonPressed, int nMouseButton,
                                      UINT nMouseEventFlags)
{
    if (bButtonPressed)
    {
        // A strip inside an inactive MDI child activates that child first.
        const HWND hParent = ::GetParent(m_hWnd);
        if (hParent != NULL && (::GetWindowLong(hParent, GWL_EXSTYLE) & WS_EX_MDICHILD) != 0)
        {
            const HWND hClient = ::GetParent(hParent);
            if (hClient != NULL && (HWND)::SendMessage(hClient, WM_MDIGETACTIVE, 0, 0) != hParent)
                ::SendMessage(hClient, WM_MDIACTIVATE, (WPARAM)hParent, 0);
        }
    }
    const int nHitTest = ItemHitTest(point);
    if (nHitTest <= __ETWH_BUTTON_LEFTUP && nHitTest >= __ETWH_BUTTON_SCROLL_END)
        return OnTabWndClickedButton(nHitTest, bButtonPressed, nMouseButton, nMouseEventFlags);
    if (nHitTest < 0)
    {
        OnTabWndStopHoverTracking(true);
        Invalidate();
        UpdateWindow();
        return false;
    }
    if (bButtonPressed)
        m_ptStartDrag = point;
    return OnTabWndClickedItem(nHitTest, bButtonPressed, nMouseButton, nMouseEventFlags);
}

bool CExtTabWnd::OnTabWndClickedItem(int nItem, bool bButtonPressed, int nMouseButton, UINT)
{
    if (bButtonPressed && OnTabWndStartPushedTracking(nMouseButton, nItem))
        SelectionSet(nItem, true, true);
    else
        OnTabWndStopPushedTracking(true);
    return nMouseButton != 2;
}

bool CExtTabWnd::OnTabWndClickedButton(int nHitTest, bool bButtonPressed, int nMouseButton, UINT)
{
    if (bButtonPressed)
    {
        if (OnTabWndStartPushedTracking(nMouseButton, nHitTest))
        {
            Invalidate();
            UpdateWindow();
            if (nHitTest == __ETWH_BUTTON_LEFTUP)
                ScrollTabItems(-1, true);
            else if (nHitTest == __ETWH_BUTTON_RIGHTDOWN)
                ScrollTabItems(+1, true);
        }
        return true;
    }
    OnTabWndStopPushedTracking(true);
    if (nMouseButton != 1)
        return true;
    const int nCount = ItemGetCount();
    switch (nHitTest)
    {
    case __ETWH_BUTTON_SCROLL_HOME:
        if (nCount > 0 && (m_dwTabWndStyle & __ETWS_ENABLED_BTN_SCROLL_HOME) != 0)
            ItemEnsureVisible(0, true);
        break;
    case __ETWH_BUTTON_SCROLL_END:
        if (nCount > 0 && (m_dwTabWndStyle & __ETWS_ENABLED_BTN_SCROLL_END) != 0)
            ItemEnsureVisible(nCount - 1, true);
        break;
    case __ETWH_BUTTON_TAB_LIST:
        if (IsButtonEnabled(__ETWH_BUTTON_TAB_LIST))
            _ShowListMenu();
        break;
    default:
        break;
    }
    return true;
}

namespace {

// Draws the list button pressed under its open menu.
void PaintListButtonPressed(LPVOID pCookie, CDC& dc, const CWnd& wndPopup, const CRect& rcExcludeArea, int)
{
    CExtTabWnd* pTabs = static_cast<CExtTabWnd*>(pCookie);
    if (pTabs == NULL || pTabs->GetSafeHwnd() == NULL)
        return;
    CRect rc = rcExcludeArea;
    wndPopup.ScreenToClient(&rc);
    pTabs->OnTabWndDrawButton(dc, rc, CExtTabWnd::__ETWH_BUTTON_TAB_LIST, pTabs->OrientationIsTopLeft(),
                              pTabs->OrientationIsHorizontal(), true, false, true,
                              (pTabs->GetTabWndStyle() & CExtTabWnd::__ETWS_GROUPED) != 0);
}

}  // namespace

void CExtTabWnd::_ShowListMenu()
{
    CExtPopupMenuWnd* pMenu = new CExtPopupMenuWnd;
    if (!pMenu->CreatePopupMenu(m_hWnd))
    {
        delete pMenu;
        return;
    }
    const bool bGrouped = (m_dwTabWndStyle & __ETWS_GROUPED) != 0;
    bool bFirst = true;
    for (int i = 0; i < ItemGetCount(); i++)
    {
        TAB_ITEM_INFO* pTii = m_arrItems[i];
        if (bGrouped && pTii->GroupStartGet() && i > 0)
            pMenu->ItemInsert(CExtPopupMenuWnd::TYPE_SEPARATOR, -1);
        if (!pTii->VisibleGet())
            continue;
        bFirst = false;
        CExtCmdIcon* pIcon = OnTabWndQueryItemIcon(pTii);
        CExtCmdIcon icon;
        if (pIcon != NULL)
            icon = *pIcon;
        const int nPos = pMenu->ItemGetCount();
        pMenu->ItemInsertCommand(UINT(__ETW_LIST_CMD_BASE + i), -1, pTii->GetText(), NULL, icon,
                                 (i == m_nSelIndex) ? 1 : 0);
        pMenu->ItemEnabledSet(nPos, pTii->EnabledGet());
    }
    (void)bFirst;
    static const UINT s_align[4] = {4, 6, 1, 3};
    CRect rcButton = m_rcButtons[__BTN_TAB_LIST];
    ClientToScreen(&rcButton);
    UINT nResult = 0;
    HWND hWndOwn = m_hWnd;
    m_wTabWndState |= __ETWST_PRESSED_TAB_LIST;
    if (!pMenu->TrackPopupMenu(0x0FA0 | s_align[OrientationGet()], rcButton.left, rcButton.bottom,
                               &rcButton, this, PaintListButtonPressed, &nResult))
    {
        delete pMenu;
        if (::IsWindow(hWndOwn))
            m_wTabWndState &= ~__ETWST_PRESSED_TAB_LIST;
        return;
    }
    if (!::IsWindow(hWndOwn))
        return;
    m_wTabWndState &= ~__ETWST_PRESSED_TAB_LIST;
    if (nResult >= UINT(__ETW_LIST_CMD_BASE) && nResult < UINT(__ETW_LIST_CMD_BASE + ItemGetCount()))
        SelectionSet(int(nResult - __ETW_LIST_CMD_BASE), true, true);
    Invalidate();
    UpdateWindow();
}

// ---- pushed and hover tracking -----------------------------------------------------------

bool CExtTabWnd::OnTabWndStartPushedTracking(int nMouseButton, int nHitTest)
{
    if (m_nPushedTrackingIndex >= 0 || m_nPushedTrackingButton >= 0)
        return false;
    m_wTabWndState &= ~PRESSED_ALL;
    if (nHitTest <= __ETWH_BUTTON_LEFTUP && nHitTest >= __ETWH_BUTTON_SCROLL_END)
    {
        if (nMouseButton != 1 || !IsButtonEnabled(nHitTest))
            return false;
        m_wTabWndState |= PressedStateOf(nHitTest);
        return true;
    }
    m_wTabWndState |= __ETWST_PUSHED_TRACKING;
    m_nPushedTrackingIndex = nHitTest;
    m_nPushedTrackingButton = nMouseButton;
    CExtMouseCaptureSink::SetCapture(m_hWnd);
    return true;
}

void CExtTabWnd::OnTabWndStopPushedTracking(bool bReleaseCapture)
{
    if ((m_dwTabWndStyle & __ETWS_SCROLL_BY_PAGE) == 0 && _IsScrolling() && GetSafeHwnd() != NULL)
        SendMessage(WM_CANCELMODE);
    m_ptStartDrag.SetPoint(-1, -1);
    if ((m_wTabWndState & PRESSED_ALL) != 0)
    {
        m_wTabWndState &= ~PRESSED_ALL;
        UpdateTabWnd(true);
    }
    m_wTabWndState &= ~__ETWST_PUSHED_TRACKING;
    m_nPushedTrackingIndex = -1;
    m_nPushedTrackingButton = -1;
    if (bReleaseCapture && GetSafeHwnd() != NULL && ::GetCapture() == m_hWnd)
        ::ReleaseCapture();
}

bool CExtTabWnd::OnTabWndStartHoverTracking(int nHitTest)
{
    if (m_nHoverTrackingIndex == nHitTest && (m_wTabWndState & __ETWST_HOVER_TRACKING) != 0)
        return false;
    // Hover effects belong to the window the user works in.
    if (GetSafeHwnd() == NULL || ::GetActiveWindow() == NULL)
        return false;
    m_wTabWndState |= __ETWST_HOVER_TRACKING;
    m_nPushedTrackingHitTest = nHitTest;
    m_nHoverTrackingIndex = nHitTest;
    Invalidate();
    UpdateWindow();
    CExtMouseCaptureSink::SetCapture(m_hWnd);
    if (nHitTest <= __ETWH_BUTTON_LEFTUP && nHitTest >= __ETWH_BUTTON_SCROLL_END)
    {
        static const int s_buttonOf[7] = {__BTN_UP, __BTN_DOWN, __BTN_HELP, __BTN_CLOSE,
                                          __BTN_TAB_LIST, __BTN_HOME, __BTN_END};
        _ShowTip(m_rcButtons[s_buttonOf[-4 - nHitTest]], GetButtonTooltipText(nHitTest));
    }
    return true;
}

void CExtTabWnd::OnTabWndStopHoverTracking(bool bReleaseCapture)
{
    m_nHoverTrackingIndex = -1;
    if ((m_wTabWndState & __ETWST_HOVER_TRACKING) == 0)
        return;
    m_wTabWndState &= ~__ETWST_HOVER_TRACKING;
    m_nPushedTrackingHitTest = -1;
    if (GetSafeHwnd() == NULL)
        return;
    Invalidate();
    if (bReleaseCapture && ::GetCapture() == m_hWnd)
        ::ReleaseCapture();
}

LRESULT CExtTabWnd::OnCancelModeMsg(WPARAM, LPARAM)
{
    if (_IsScrolling())
    {
        KillTimer(ID_TIMER_SMOOTH_SCROLL);
        m_nScrollDirectionRest = 0;
    }
    OnTabWndStopPushedTracking(true);
    OnTabWndStopHoverTracking(true);
    return 0;
}

LRESULT CExtTabWnd::OnCaptureChangedMsg(WPARAM, LPARAM lParam)
{
    const HWND hWndNew = (HWND)lParam;
    if (hWndNew != m_hWnd)
    {
        OnTabWndStopPushedTracking(false);
        OnTabWndStopHoverTracking(false);
    }
    else if ((m_wTabWndState & __ETWST_HOVER_TRACKING) != 0)
        SendMessage(WM_CANCELMODE);
    return 0;
}

// ---- mouse move ---------------------------------------------------------------------------

LRESULT CExtTabWnd::OnMouseMoveMsg(WPARAM, LPARAM lParam)
{
    const CPoint point((short)LOWORD(lParam), (short)HIWORD(lParam));
    if (m_nPushedTrackingIndex >= 0 || (m_wTabWndState & __ETWST_PUSHED_TRACKING) != 0)
    {
        if (ItemGet(m_nPushedTrackingIndex) == NULL)
        {
            _HideTips();
            if ((m_wTabWndState & PRESSED_ALL) == 0 && !_IsScrolling())
                SendMessage(WM_CANCELMODE);
            return 0;
        }
        if (m_ptStartDrag.x >= 0 &&
            (abs(point.x - m_ptStartDrag.x) > 5 || abs(point.y - m_ptStartDrag.y) > 5) &&
            OnTabWndCanDragItem(m_nPushedTrackingIndex))
        {
            _HideTips();
            ItemDragLoop(m_nPushedTrackingIndex);
        }
        return 0;
    }
    CWnd* pActive = CWnd::GetActiveWindow();
    if (CExtPopupMenuWnd::IsMenuTracking() || pActive == NULL ||
        (pActive->GetSafeHwnd() != ::GetAncestor(m_hWnd, GA_ROOT) &&
         ::GetParent(pActive->GetSafeHwnd()) != ::GetParent(m_hWnd)))
        return 0;
    const int nHitTest = ItemHitTest(point);
    if (nHitTest <= __ETWH_BUTTON_LEFTUP && nHitTest >= __ETWH_BUTTON_SCROLL_END)
    {
        if (m_nPushedTrackingHitTest != nHitTest)
            OnTabWndStartHoverTracking(nHitTest);
        return 0;
    }
    if (nHitTest < 0)
    {
        if ((m_wTabWndState & __ETWST_HOVER_TRACKING) != 0 || m_nHoverTrackingIndex >= 0)
        {
            OnTabWndStopHoverTracking(true);
            UpdateWindow();
        }
        _HideTips();
        return 0;
    }
    if (nHitTest != m_nHoverTrackingIndex)
    {
        if (!OnTabWndStartHoverTracking(nHitTest) || OnTabWndHoverRepaintNeeded())
        {
            Invalidate();
            UpdateWindow();
        }
    }
    TAB_ITEM_INFO* pTii = ItemGet(nHitTest);
    if ((m_dwTabWndStyle & __ETWS_HOVER_FOCUS) != 0 && nHitTest != m_nDelayedSelIndex)
    {
        SelectionDelay(-1, 0);
        SelectionDelay(nHitTest, 200);
        return 0;
    }
    if (pTii != NULL && OnTabWndToolTipsEnabled())
    {
        CString sTip = pTii->GetTooltipText();
        if (sTip.IsEmpty() && (m_wTabWndState & __ETWST_SHORTENED_ITEMS) != 0 && pTii->IsShortened())
            sTip = pTii->GetText();
        CRect rcItem = pTii->m_rcItem;
        if (OrientationIsHorizontal())
            rcItem.OffsetRect(m_rcTabItemsArea.left - (_IsScrollAvail() ? m_nScrollPos : 0), 0);
        else
            rcItem.OffsetRect(0, m_rcTabItemsArea.top - (_IsScrollAvail() ? m_nScrollPos : 0));
        _ShowTip(rcItem, sTip);
    }
    return 0;
}

// ---- scrolling and timers -------------------------------------------------------------------

void CExtTabWnd::ScrollTabItems(int nStep, bool bSmooth)
{
    if (!_IsScrollAvail() || m_rcTabItemsArea.IsRectEmpty() || m_nVisibleItemCount <= 0)
        return;
    const int nAreaLen = OrientationIsHorizontal() ? m_rcTabItemsArea.Width() : m_rcTabItemsArea.Height();
    const bool bPage = (m_dwTabWndStyle & __ETWS_SCROLL_BY_PAGE) != 0;
    if (nStep >= 0)
    {
        if (m_nScrollPos >= m_nScrollMaxPos)
            return;
        if (bSmooth)
        {
            m_nScrollDirectionRest = bPage ? nAreaLen : (m_nScrollMaxPos - m_nScrollPos);
            SetTimer(ID_TIMER_SMOOTH_SCROLL, 20, NULL);
        }
        else
            m_nScrollPos = std::min(m_nScrollPos + nStep, m_nScrollMaxPos);
    }
    else
    {
        if (m_nScrollPos <= 0)
            return;
        if (bSmooth)
        {
            m_nScrollDirectionRest = bPage ? -nAreaLen : -m_nScrollPos;
            SetTimer(ID_TIMER_SMOOTH_SCROLL, 20, NULL);
        }
        else
            m_nScrollPos = std::max(m_nScrollPos + nStep, 0);
    }
    UpdateTabWnd(true);
}

LRESULT CExtTabWnd::OnTimerMsg(WPARAM wParam, LPARAM)
{
    if (wParam == ID_TIMER_SMOOTH_SCROLL)
    {
        const int nStep = std::max(-10, std::min(10, m_nScrollDirectionRest));
        if (nStep != 0)
            ScrollTabItems(nStep, false);
        if (m_nScrollDirectionRest > 0)
            m_nScrollDirectionRest = std::max(0, m_nScrollDirectionRest - 10);
        else if (m_nScrollDirectionRest < 0)
            m_nScrollDirectionRest = std::min(0, m_nScrollDirectionRest + 10);
        if (m_nScrollDirectionRest == 0)
            KillTimer(ID_TIMER_SMOOTH_SCROLL);
        return 0;
    }
    if (wParam == ID_TIMER_DELAYED_SELECTION)
    {
        KillTimer(ID_TIMER_DELAYED_SELECTION);
        const int nPending = m_nDelayedSelIndex;
        m_nDelayedSelIndex = -1;
        TAB_ITEM_INFO* pTii = ItemGet(nPending);
        if (nPending != m_nSelIndex && pTii != NULL && m_nVisibleItemCount > 0 && pTii->VisibleGet())
        {
            CPoint pt;
            ::GetCursorPos(&pt);
            ScreenToClient(&pt);
            if (ItemHitTest(pt) == nPending)
                SelectionSet(nPending, true, true);
        }
        return 0;
    }
    return Default();
}

// ---- the drag-reorder loop --------------------------------------------------------------------

void CExtTabWnd::ItemDragLoop(int nIndex)
{
    CExtMouseCaptureSink::SetCapture(m_hWnd);
    m_nDragFlags |= 0x01;
    const HWND hWndOwn = m_hWnd;
    const bool bHorz = OrientationIsHorizontal();
    bool bStop = false;
    while (!bStop && ::IsWindow(hWndOwn))
    {
        MSG msg;
        if (!::PeekMessage(&msg, NULL, 0, 0, PM_NOREMOVE))
        {
            AfxGetThread()->OnIdle(0);
            ::WaitMessage();
            continue;
        }
        switch (msg.message)
        {
        case WM_MOUSEMOVE:
        {
            while (::PeekMessage(&msg, NULL, WM_MOUSEMOVE, WM_MOUSEMOVE, PM_REMOVE))
            {
            }
            CPoint pt((short)LOWORD(msg.lParam), (short)HIWORD(msg.lParam));
            if (msg.hwnd != hWndOwn)
                ::MapWindowPoints(msg.hwnd, hWndOwn, &pt, 1);
            CPoint ptScreen;
            ::GetCursorPos(&ptScreen);
            CRect rcWnd;
            GetWindowRect(&rcWnd);
            const bool bBefore = bHorz ? ptScreen.x < rcWnd.left : ptScreen.y < rcWnd.top;
            const bool bAfter = bHorz ? ptScreen.x > rcWnd.right : ptScreen.y > rcWnd.bottom;
            if (bBefore || bAfter)
            {
                if (!_IsScrolling())
                    ScrollTabItems(bBefore ? -1 : +1, true);
                continue;
            }
            if (_IsScrolling())
            {
                m_nScrollDirectionRest = 0;
                KillTimer(ID_TIMER_SMOOTH_SCROLL);
            }
            const int nTarget = ItemHitTest(pt);
            if (ItemGetCount() > 0 && ItemGet(nIndex) != NULL && ItemGet(nTarget) != NULL &&
                nTarget != nIndex &&
                !(m_rcLastMovedItemRect.PtInRect(pt) && abs(nTarget - nIndex) < 2))
            {
                int m1 = 0, m2 = 0, m3 = 0;
                OnTabWndQueryMetrics(m1, m2, m3);
                CRect rc = m_arrItems[nTarget]->m_rcItem;
                if (bHorz)
                    rc.OffsetRect(m1 - m_nScrollPos, 0);
                else
                    rc.OffsetRect(0, m1 - m_nScrollPos);
                m_rcLastMovedItemRect = rc;
                if (ItemMove(nIndex, nTarget, true))
                    nIndex = nTarget;
                else
                    m_rcLastMovedItemRect.SetRectEmpty();
            }
            continue;
        }
        case WM_LBUTTONUP:
        case WM_RBUTTONDOWN:
        case WM_RBUTTONUP:
        case WM_RBUTTONDBLCLK:
        case WM_MBUTTONDOWN:
        case WM_MBUTTONUP:
        case WM_MBUTTONDBLCLK:
        case WM_SYSCOLORCHANGE:
        case WM_SETTINGCHANGE:
        case WM_ACTIVATEAPP:
        case WM_CANCELMODE:
        case WM_CONTEXTMENU:
            bStop = true;
            break;
        case WM_CAPTURECHANGED:
            if ((HWND)msg.lParam != hWndOwn)
                bStop = true;
            break;
        default:
            if (msg.message >= WM_NCLBUTTONDOWN && msg.message <= WM_NCMBUTTONDBLCLK)
                bStop = true;
            else if (::GetCapture() != hWndOwn)
                bStop = true;
            break;
        }
        if (bStop)
            break;
        if (!::PeekMessage(&msg, NULL, 0, 0, PM_REMOVE))
            continue;
        if (msg.message == WM_QUIT)
        {
            ::PostQuitMessage((int)msg.wParam);
            break;
        }
        if (!AfxPreTranslateMessage(&msg))
        {
            ::TranslateMessage(&msg);
            ::DispatchMessage(&msg);
        }
    }
    if (!::IsWindow(hWndOwn))
        return;
    if (::GetCapture() == hWndOwn)
        ::ReleaseCapture();
    m_rcLastMovedItemRect.SetRectEmpty();
    m_nPushedTrackingIndex = -1;
    m_nPushedTrackingButton = -1;
    m_wTabWndState &= ~__ETWST_PUSHED_TRACKING;
    m_nScrollDirectionRest = 0;
    KillTimer(ID_TIMER_SMOOTH_SCROLL);
    UpdateTabWnd(true);
    m_nDragFlags &= ~0x01;
}

// ---- focus and cursor -----------------------------------------------------------------------

LRESULT CExtTabWnd::OnSetFocusMsg(WPARAM, LPARAM)
{
    CWnd* pParent = GetParent();
    if (pParent != NULL)
        pParent->SetFocus();
    return 0;
}

LRESULT CExtTabWnd::OnMouseActivateMsg(WPARAM, LPARAM)
{
    const HWND hTop = ::GetAncestor(m_hWnd, GA_ROOT);
    if (::GetForegroundWindow() != ::GetLastActivePopup(hTop))
    {
        CWnd* pParent = GetParent();
        if (pParent != NULL)
            pParent->SetFocus();
    }
    return MA_NOACTIVATE;
}

LRESULT CExtTabWnd::OnSetCursorMsg(WPARAM, LPARAM)
{
    // Context-help mode shows the frame's help cursor.
    for (CFrameWnd* pFrame = GetParentFrame(); pFrame != NULL; pFrame = pFrame->GetParentFrame())
        if (pFrame->m_bHelpMode)
            return Default();
    if (g_hCursor != NULL)
    {
        ::SetCursor(g_hCursor);
        return TRUE;
    }
    return Default();
}
