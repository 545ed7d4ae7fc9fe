// The MDI tab strip: the hook on the MDI client, the synchronisation pass, the item
// texts and icons of the children, activation by tab, the close and help buttons, the
// thin frames of the strip and of the client, and the strip's context menu.
#include "toolkit/dialogs/tab_mdi_wnd.h"

#include "framework/mdi.h"
#include "toolkit/core/cmd_tree.h"
#include "toolkit/dialogs/tab_neighbours.h"
#include "toolkit/menus/popup_menu_wnd.h"

IMPLEMENT_DYNCREATE(CExtTabMdiWnd, CExtTabWnd)

CExtTabMdiWnd::CExtTabMdiWnd() {}

CExtTabMdiWnd::~CExtTabMdiWnd() {}

namespace {

const UINT kFrameChangedFlags = SWP_FRAMECHANGED | SWP_NOCOPYBITS | SWP_NOACTIVATE | SWP_NOOWNERZORDER |
                                SWP_NOZORDER | SWP_NOMOVE | SWP_NOSIZE;

}  // namespace

template <class TBase>
CExtTMWI<TBase>::CExtTMWI() : CExtHookSink(true), m_nMdiTabFlags(0), m_rcMdiMargins1(0, 0, 0, 0),
                              m_rcMdiMargins2(0, 0, 0, 0)
{
    // The strip places itself beside the MDI client: no band of its own in a query pass.
    this->m_nTabWndFlags |= 0x01;
}

template <class TBase>
CExtTMWI<TBase>::~CExtTMWI()
{
    RemoveAllWndHooks();
}

// ---- the frame, the client and the items ----------------------------------------------------

template <class TBase>
HWND CExtTMWI<TBase>::GetMdiFrameHwnd() const
{
    return (this->m_hWnd != NULL) ? ::GetParent(this->m_hWnd) : NULL;
}

template <class TBase>
HWND CExtTMWI<TBase>::GetMdiClientHwnd() const
{
    HWND hWndFrame = GetMdiFrameHwnd();
    if (hWndFrame == NULL)
        return NULL;
    CMDIFrameWnd* pFrame = DYNAMIC_DOWNCAST(CMDIFrameWnd, CWnd::FromHandlePermanent(hWndFrame));
    if (pFrame != NULL)
        return pFrame->m_hWndMDIClient;
    for (HWND hWnd = ::GetWindow(hWndFrame, GW_CHILD); hWnd != NULL; hWnd = ::GetWindow(hWnd, GW_HWNDNEXT))
    {
        TCHAR szClass[512 + 1] = {0};
        ::GetClassName(hWnd, szClass, 512);
        if (lstrcmpi(szClass, _T("mdiclient")) == 0)
            return hWnd;
    }
    return NULL;
}

template <class TBase>
int CExtTMWI<TBase>::ItemFindByHWND(HWND hWnd, int nIndexStartSearch, bool bIncludeVisible,
                                    bool bIncludeInvisible) const
{
    return this->ItemFindByLParam((LPARAM)hWnd, nIndexStartSearch, bIncludeVisible, bIncludeInvisible);
}

template <class TBase>
bool CExtTMWI<TBase>::IsCustomizeMode() const
{
    if (this->m_hWnd == NULL)
        return false;
    CExtCustomizeSite* pSite = CExtCustomizeSite::GetCustomizeSite(this->m_hWnd);
    return pSite != NULL && pSite->IsCustomizeMode();
}

template <class TBase>
bool CExtTMWI<TBase>::IsSyncOrDrag() const
{
    return (m_nMdiTabFlags & __ETMW_SYNC_RUNNING) != 0 || (this->m_nDragFlags & 0x01) != 0;
}

template <class TBase>
void CExtTMWI<TBase>::RecalcMdiClientFrame() const
{
    HWND hWndClient = GetMdiClientHwnd();
    if (hWndClient != NULL)
        ::SetWindowPos(hWndClient, NULL, 0, 0, 0, 0, kFrameChangedFlags);
}

template <class TBase>
BOOL CExtTMWI<TBase>::Create(CWnd* pParentWnd, const RECT& rcWnd, UINT nDlgCtrlID, DWORD dwWindowStyle,
                             DWORD dwTabWndStyle, CCreateContext* pContext)
{
    if (!TBase::Create(pParentWnd, rcWnd, nDlgCtrlID, dwWindowStyle, dwTabWndStyle, pContext))
        return FALSE;
    HWND hWndClient = GetMdiClientHwnd();
    if (hWndClient != NULL && !IsHookedWindow(hWndClient))
    {
        if (!SetupHookWndSink(hWndClient))
            return FALSE;
        this->SetTimer(ID_TIMER_SYNC, __ETMW_SYNC_PERIOD, NULL);
    }
    return TRUE;
}

template <class TBase>
LPCTSTR CExtTMWI<TBase>::OnTabWndQueryItemText(const CExtTabWnd::TAB_ITEM_INFO* pTii) const
{
    if (pTii == NULL)
        return NULL;
    HWND hWnd = (HWND)pTii->LParamGet();
    if (hWnd == NULL || !::IsWindow(hWnd))
        return NULL;
    m_sItemText.Empty();
    CFrameWnd* pFrame = DYNAMIC_DOWNCAST(CFrameWnd, CWnd::FromHandlePermanent(hWnd));
    if (pFrame != NULL)
    {
        // Without documents the frame's own title stands for its document's.
        m_sItemText = pFrame->GetTitle();
        if (!m_sItemText.IsEmpty() && pFrame->m_nWindow > 0)
        {
            CString sNumber;
            sNumber.Format(_T(":%d"), pFrame->m_nWindow);
            m_sItemText += sNumber;
        }
    }
    if (m_sItemText.IsEmpty())
    {
        const int nLen = ::GetWindowTextLength(hWnd);
        if (nLen > 0)
        {
            ::GetWindowText(hWnd, m_sItemText.GetBuffer(nLen + 1), nLen + 1);
            m_sItemText.ReleaseBuffer();
        }
    }
    return m_sItemText;
}

template <class TBase>
CExtCmdIcon* CExtTMWI<TBase>::OnTabWndQueryItemIcon(const CExtTabWnd::TAB_ITEM_INFO* pTii) const
{
    if (pTii == NULL)
        return NULL;
    HWND hWnd = (HWND)pTii->LParamGet();
    if (hWnd == NULL || !::IsWindow(hWnd))
        return NULL;
    HICON hIcon = (HICON)::SendMessage(hWnd, WM_GETICON, ICON_SMALL, 0);
    if (hIcon == NULL)
        hIcon = (HICON)::SendMessage(hWnd, WM_GETICON, ICON_BIG, 0);
    if (hIcon == NULL)
        hIcon = (HICON)::GetClassLongPtr(hWnd, GCLP_HICONSM);
    if (hIcon == NULL)
        hIcon = (HICON)::GetClassLongPtr(hWnd, GCLP_HICON);
    if (hIcon == NULL)
        return NULL;
    m_iconMdiChild.AssignFromHICON(hIcon, true);
    if (m_iconMdiChild.IsEmpty())
        return NULL;
    if (m_iconMdiChild.GetSize() != CSize(16, 16))
        m_iconMdiChild.Scale(CSize(16, 16));
    return &m_iconMdiChild;
}

// ---- selection, clicks and visibility -------------------------------------------------------

template <class TBase>
bool CExtTMWI<TBase>::OnTabWndSelectionChange(int nOldItem, int nNewItem, bool bPreSelectionTest)
{
    if (IsCustomizeMode())
        return false;
    if (!TBase::OnTabWndSelectionChange(nOldItem, nNewItem, bPreSelectionTest))
        return false;
    if (bPreSelectionTest || IsSyncOrDrag())
    {
        RecalcMdiClientFrame();
        return true;
    }
    CExtTabWnd::TAB_ITEM_INFO* pTii = this->ItemGet(nNewItem);
    HWND hWndChild = (pTii != NULL) ? (HWND)pTii->LParamGet() : NULL;
    HWND hWndClient = GetMdiClientHwnd();
    if (hWndChild != NULL && ::IsWindow(hWndChild) && hWndClient != NULL)
    {
        ::SendMessage(hWndClient, WM_MDIACTIVATE, (WPARAM)hWndChild, 0);
        RecalcMdiClientFrame();
    }
    return true;
}

template <class TBase>
bool CExtTMWI<TBase>::OnTabWndStartPushedTracking(int nMouseButton, int nHitTest)
{
    if (IsCustomizeMode())
        return false;
    return TBase::OnTabWndStartPushedTracking(nMouseButton, nHitTest);
}

template <class TBase>
bool CExtTMWI<TBase>::OnTabWndStartHoverTracking(int nHitTest)
{
    if (IsCustomizeMode())
        return false;
    return TBase::OnTabWndStartHoverTracking(nHitTest);
}

template <class TBase>
bool CExtTMWI<TBase>::OnTabWndClickedItem(int nItem, bool bButtonPressed, int nMouseButton, UINT nMouseEventFlags)
{
    // Other buttons take the default handling (the right one brings the context menu).
    if (nMouseButton != 1 || IsCustomizeMode())
        return false;
    return TBase::OnTabWndClickedItem(nItem, bButtonPressed, nMouseButton, nMouseEventFlags);
}

template <class TBase>
void CExtTMWI<TBase>::PostChildCommand(UINT nCommand)
{
    CExtTabWnd::TAB_ITEM_INFO* pTii = this->ItemGet(this->SelectionGet());
    HWND hWndChild = (pTii != NULL) ? (HWND)pTii->LParamGet() : NULL;
    if (hWndChild == NULL || !::IsWindow(hWndChild))
        return;
    this->PostMessage(WM_CANCELMODE);
    POINT pt = {0, 0};
    ::GetCursorPos(&pt);
    if (nCommand == SC_CONTEXTHELP)
        ::ClientToScreen(hWndChild, &pt);
    ::PostMessage(hWndChild, WM_SYSCOMMAND, nCommand, MAKELPARAM(pt.x, pt.y));
}

template <class TBase>
bool CExtTMWI<TBase>::OnTabWndClickedButton(int nHitTest, bool bButtonPressed, int nMouseButton,
                                            UINT nMouseEventFlags)
{
    if (nMouseButton != 1 || IsCustomizeMode())
        return false;
    const bool bResult = TBase::OnTabWndClickedButton(nHitTest, bButtonPressed, nMouseButton, nMouseEventFlags);
    if (bButtonPressed)
        return bResult;
    const DWORD dwStyle = this->GetTabWndStyle();
    if (nHitTest == CExtTabWnd::__ETWH_BUTTON_CLOSE && (dwStyle & CExtTabWnd::__ETWS_ENABLED_BTN_CLOSE) != 0)
        PostChildCommand(SC_CLOSE);
    else if (nHitTest == CExtTabWnd::__ETWH_BUTTON_HELP && (dwStyle & CExtTabWnd::__ETWS_ENABLED_BTN_HELP) != 0)
        PostChildCommand(SC_CONTEXTHELP);
    return bResult;
}

template <class TBase>
void CExtTMWI<TBase>::OnTabWndItemInsert(int nItemIndex, CExtTabWnd::TAB_ITEM_INFO* pTii)
{
    TBase::OnTabWndItemInsert(nItemIndex, pTii);
    if (!IsSyncOrDrag() && this->ItemGetCount() == 1)
        UpdateMdiTabVisibility();
}

template <class TBase>
void CExtTMWI<TBase>::OnTabWndRemoveAllItems(bool bPreRemove)
{
    TBase::OnTabWndRemoveAllItems(bPreRemove);
    if (bPreRemove && !IsSyncOrDrag())
        UpdateMdiTabVisibility();
}

template <class TBase>
void CExtTMWI<TBase>::UpdateMdiTabVisibility()
{
    if (this->m_hWnd == NULL)
        return;
    const bool bWasVisible = (this->GetStyle() & WS_VISIBLE) != 0;
    OnTabWndSyncVisibility();
    if (bWasVisible != ((this->GetStyle() & WS_VISIBLE) != 0))
    {
        CFrameWnd* pFrame = DYNAMIC_DOWNCAST(CFrameWnd, CWnd::FromHandlePermanent(GetMdiFrameHwnd()));
        if (pFrame != NULL)
            pFrame->m_nIdleFlags |= CFrameWnd::idleNotify | CFrameWnd::idleLayout;
    }
    this->UpdateTabWnd(true);
}

template <class TBase>
void CExtTMWI<TBase>::OnTabWndSyncVisibility()
{
    if (this->m_hWnd == NULL)
        return;
    CWnd* pFrame = CWnd::FromHandle(GetMdiFrameHwnd());
    const bool bHide = this->ItemGetCount() == 0 || CExtTabBarServices::IsPrintPreview(pFrame) ||
                       CExtTabBarServices::HasInPlaceActiveItem(pFrame);
    const bool bVisible = (this->GetStyle() & WS_VISIBLE) != 0;
    if (bHide)
    {
        if (bVisible)
            this->SetWindowPos(NULL, 0, 0, 0, 0,
                               SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOOWNERZORDER);
        this->m_nIndexVisFirst = this->m_nIndexVisLast = -1;
        return;
    }
    if (!bVisible)
    {
        this->SetWindowPos(NULL, 0, 0, 0, 0,
                           SWP_SHOWWINDOW | SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER |
                               SWP_NOOWNERZORDER);
        RecalcMdiClientFrame();
    }
}

// ---- synchronisation ----------------------------------------------------------------------

template <class TBase>
void CExtTMWI<TBase>::SyncAllItems()
{
    if (IsSyncOrDrag())
        return;
    HWND hWndFrame = GetMdiFrameHwnd(), hWndClient = GetMdiClientHwnd();
    if (hWndFrame == NULL || hWndClient == NULL)
        return;
    m_nMdiTabFlags |= __ETMW_SYNC_RUNNING;
    HWND hWndActive = NULL;
    CMDIFrameWnd* pMdiFrame = DYNAMIC_DOWNCAST(CMDIFrameWnd, CWnd::FromHandlePermanent(hWndFrame));
    if (pMdiFrame != NULL && pMdiFrame->MDIGetActive() != NULL)
        hWndActive = pMdiFrame->MDIGetActive()->GetSafeHwnd();
    if (hWndActive == NULL)
        hWndActive = (HWND)::SendMessage(hWndClient, WM_MDIGETACTIVE, 0, 0);
    // Without an active child there is nothing to add or select, but closed children
    // still lose their tabs and an empty strip still hides.
    if (hWndActive != NULL)
    {
        HMENU hSysMenu = ::GetSystemMenu(hWndActive, FALSE);
        const UINT nState = (hSysMenu != NULL) ? ::GetMenuState(hSysMenu, SC_CLOSE, MF_BYCOMMAND) : UINT(-1);
        const bool bCloseEnabled = nState != UINT(-1) && (nState & (MF_GRAYED | MF_DISABLED)) == 0;
        this->ModifyTabWndStyle(bCloseEnabled ? 0 : CExtTabWnd::__ETWS_ENABLED_BTN_CLOSE,
                                bCloseEnabled ? CExtTabWnd::__ETWS_ENABLED_BTN_CLOSE : 0, false);
        for (HWND hWnd = ::GetWindow(hWndClient, GW_CHILD); hWnd != NULL; hWnd = ::GetWindow(hWnd, GW_HWNDNEXT))
        {
            int nIndex = ItemFindByHWND(hWnd);
            if (nIndex < 0)
            {
                this->ItemInsert(NULL, (HICON)NULL, 0, -1, (LPARAM)hWnd, false);
                nIndex = this->ItemGetCount() - 1;
            }
            if (hWnd == hWndActive)
                this->SelectionSet(nIndex, true, false);
        }
    }
    for (int i = this->ItemGetCount() - 1; i >= 0; i--)
    {
        CExtTabWnd::TAB_ITEM_INFO* pTii = this->ItemGet(i);
        HWND hWnd = (HWND)pTii->LParamGet();
        if (!::IsWindow(hWnd))
        {
            this->ItemRemove(i, 1, false);
            continue;
        }
        const bool bVisible = (::GetWindowLong(hWnd, GWL_STYLE) & WS_VISIBLE) != 0;
        if (pTii->VisibleGet() != bVisible)
            pTii->ModifyItemStyle(bVisible ? CExtTabWnd::TAB_ITEM_INFO::__ETWI_INVISIBLE : 0,
                                  bVisible ? 0 : CExtTabWnd::TAB_ITEM_INFO::__ETWI_INVISIBLE);
    }
    m_nMdiTabFlags &= ~__ETMW_SYNC_RUNNING;
    UpdateMdiTabVisibility();
}

// ---- the hook on the MDI client -----------------------------------------------------------

template <class TBase>
void CExtTMWI<TBase>::OnMdiClientNcCalcSize(NCCALCSIZE_PARAMS* pParams)
{
    OnMdiClientNcCalcSizePre(pParams);
    RECT& rc = pParams->rgrc[0];
    const bool bStrip = this->m_hWnd != NULL && (this->GetStyle() & WS_VISIBLE) != 0;
    const int nOrientation = this->OrientationGet();
    const int b = __ETMW_NC_BORDER;
    rc.left += ((bStrip && nOrientation == 2) ? 0 : b) + m_rcMdiMargins1.left + m_rcMdiMargins2.left;
    rc.top += ((bStrip && nOrientation == 0) ? 0 : b) + m_rcMdiMargins1.top + m_rcMdiMargins2.top;
    rc.right -= ((bStrip && nOrientation == 3) ? 0 : b) + m_rcMdiMargins1.right + m_rcMdiMargins2.right;
    rc.bottom -= ((bStrip && nOrientation == 1) ? 0 : b) + m_rcMdiMargins1.bottom + m_rcMdiMargins2.bottom;
}

template <class TBase>
void CExtTMWI<TBase>::OnMdiClientNcPaint(HWND hWndClient)
{
    CRect rcWnd, rcClient;
    ::GetWindowRect(hWndClient, &rcWnd);
    ::GetClientRect(hWndClient, &rcClient);
    ::ClientToScreen(hWndClient, (POINT*)&rcClient.left);
    ::ClientToScreen(hWndClient, (POINT*)&rcClient.right);
    if (rcClient.Width() >= rcWnd.Width() && rcClient.Height() >= rcWnd.Height())
        return;
    rcClient.OffsetRect(-rcWnd.left, -rcWnd.top);
    rcWnd.OffsetRect(-rcWnd.left, -rcWnd.top);
    HDC hDC = ::GetWindowDC(hWndClient);
    if (hDC == NULL)
        return;
    CDC* pDC = CDC::FromHandle(hDC);
    CExtPaintManager* pPM = this->GetPaintManager();
    pDC->ExcludeClipRect(&rcClient);
    pDC->FillSolidRect(&rcWnd, pPM->LookupColor(COLOR_3DFACE, this));
    CRect rcInner(rcWnd);
    rcInner.DeflateRect(m_rcMdiMargins1.left, m_rcMdiMargins1.top, m_rcMdiMargins1.right, m_rcMdiMargins1.bottom);
    if (rcInner != rcWnd)
        OnMdiClientNcPaintInner(*pDC, rcInner);
    // The edge stays off the side where the strip joins the client.
    CRect rcEdge(rcClient);
    const bool bStrip = this->m_hWnd != NULL && (this->GetStyle() & WS_VISIBLE) != 0;
    const int nOrientation = this->OrientationGet();
    const int b = __ETMW_NC_BORDER;
    rcEdge.InflateRect((bStrip && nOrientation == 2) ? 0 : b, (bStrip && nOrientation == 0) ? 0 : b,
                       (bStrip && nOrientation == 3) ? 0 : b, (bStrip && nOrientation == 1) ? 0 : b);
    if (bStrip)
    {
        switch (nOrientation)
        {
        case 0:
            rcEdge.top -= b;
            break;
        case 1:
            rcEdge.bottom += b;
            break;
        case 2:
            rcEdge.left -= b;
            break;
        default:
            rcEdge.right += b;
            break;
        }
    }
    pPM->DrawTabWndFrame(*pDC, rcEdge, this, 0);
    ::ReleaseDC(hWndClient, hDC);
}

template <class TBase>
bool CExtTMWI<TBase>::OnHookWndMsg(LRESULT& lResult, HWND hWndHooked, UINT nMessage, WPARAM& wParam, LPARAM& lParam)
{
    if (this->m_hWnd == NULL || hWndHooked != GetMdiClientHwnd())
        return CExtHookSink::OnHookWndMsg(lResult, hWndHooked, nMessage, wParam, lParam);
    switch (nMessage)
    {
    case WM_WINDOWPOSCHANGING:
        if (lParam != 0)
            reinterpret_cast<WINDOWPOS*>(lParam)->flags |= SWP_FRAMECHANGED;
        break;
    case WM_NCCALCSIZE:
        if (lParam != 0)
            OnMdiClientNcCalcSize(reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam));
        lResult = 0;
        return true;
    case WM_NCPAINT:
        OnMdiClientNcPaint(hWndHooked);
        lResult = 0;
        return true;
    case WM_MDIDESTROY:
    {
        const int nIndex = ItemFindByHWND((HWND)wParam);
        if (nIndex >= 0)
        {
            m_nMdiTabFlags |= __ETMW_SYNC_RUNNING;
            this->ItemRemove(nIndex, 1, true);
            m_nMdiTabFlags &= ~__ETMW_SYNC_RUNNING;
        }
        this->PostMessage(WM_TIMER, ID_TIMER_SYNC, 0);
        break;
    }
    case WM_MDIACTIVATE:
    {
        const int nIndex = ItemFindByHWND((HWND)wParam);
        if (nIndex >= 0)
        {
            m_nMdiTabFlags |= __ETMW_SYNC_RUNNING;
            this->SelectionSet(nIndex, true, true);
            m_nMdiTabFlags &= ~__ETMW_SYNC_RUNNING;
        }
        this->PostMessage(WM_TIMER, ID_TIMER_SYNC, 0);
        break;
    }
    case WM_MDICREATE:
    case WM_MDIREFRESHMENU:
        this->PostMessage(WM_TIMER, ID_TIMER_SYNC, 0);
        break;
    default:
        break;
    }
    return CExtHookSink::OnHookWndMsg(lResult, hWndHooked, nMessage, wParam, lParam);
}

// ---- the strip's own window messages --------------------------------------------------------

template <class TBase>
LRESULT CExtTMWI<TBase>::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message)
    {
    case WM_WINDOWPOSCHANGING:
        if (lParam != 0)
            reinterpret_cast<WINDOWPOS*>(lParam)->flags |= SWP_FRAMECHANGED;
        break;
    case WM_NCCALCSIZE:
        if (lParam != 0 && (this->GetStyle() & WS_VISIBLE) != 0)
        {
            // A thin border on the three sides away from the MDI client.
            RECT& rc = reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam)->rgrc[0];
            const int nOrientation = this->OrientationGet(), b = __ETMW_NC_BORDER;
            if (nOrientation != 3)
                rc.left += b;
            if (nOrientation != 1)
                rc.top += b;
            if (nOrientation != 2)
                rc.right -= b;
            if (nOrientation != 0)
                rc.bottom -= b;
            return 0;
        }
        break;
    case WM_NCPAINT:
    {
        CRect rcWnd, rcClient;
        this->GetWindowRect(&rcWnd);
        this->GetClientRect(&rcClient);
        this->ClientToScreen(&rcClient);
        rcClient.OffsetRect(-rcWnd.left, -rcWnd.top);
        rcWnd.OffsetRect(-rcWnd.left, -rcWnd.top);
        if (rcClient == rcWnd)
            return 0;
        CWindowDC dc(this);
        CExtPaintManager* pPM = this->GetPaintManager();
        dc.ExcludeClipRect(&rcClient);
        dc.FillSolidRect(&rcWnd, pPM->LookupColor(COLOR_3DFACE, this));
        pPM->DrawTabWndFrame(dc, rcWnd, this, 0);
        return 0;
    }
    case WM_CONTEXTMENU:
        return OnMdiStripContextMenu(wParam, lParam);
    case WM_TIMER:
        if (wParam == ID_TIMER_SYNC)
        {
            this->KillTimer(ID_TIMER_SYNC);
            if ((m_nMdiTabFlags & __ETMW_SYNC_RUNNING) == 0)
                SyncAllItems();
            return 0;
        }
        break;
    case WM_DESTROY:
        this->KillTimer(ID_TIMER_SYNC);
        RemoveAllWndHooks();
        break;
    default:
        break;
    }
    return TBase::WindowProc(message, wParam, lParam);
}

template <class TBase>
LRESULT CExtTMWI<TBase>::OnMdiStripContextMenu(WPARAM, LPARAM lParam)
{
    CWnd* pFrame = CWnd::FromHandle(GetMdiFrameHwnd());
    if (pFrame == NULL || IsCustomizeMode() || CExtTabBarServices::IsFrameInHelpMode(pFrame))
        return 0;
    const CPoint ptScreen((short)LOWORD(lParam), (short)HIWORD(lParam));
    CPoint ptClient(ptScreen);
    this->ScreenToClient(&ptClient);
    const int nHit = this->ItemHitTest(ptClient);
    if (nHit >= 0)
        this->SelectionSet(nHit, true, true);
    const HWND hWndStrip = this->m_hWnd;
    CExtPopupMenuWnd* pPopup = new CExtPopupMenuWnd;
    if (!pPopup->CreatePopupMenu(pFrame->m_hWnd) ||
        !CExtTabBarServices::NotifyPopupMenuEvent(__ETMW_CONTEXT_MENU_EVENT, pPopup, this, ptScreen, WM_CONTEXTMENU,
                                                  false))
    {
        delete pPopup;
        return 0;
    }
    CExtTabBarServices::NotifyPopupMenuEvent(__ETMW_CONTEXT_MENU_EVENT, pPopup, this, ptScreen, WM_CONTEXTMENU, true);
    if (pPopup->ItemGetCount() == 0 || !pPopup->TrackPopupMenu(0x0880, ptScreen.x, ptScreen.y))
        delete pPopup;
    if (::IsWindow(hWndStrip))
    {
        ::InvalidateRect(hWndStrip, NULL, TRUE);
        ::UpdateWindow(hWndStrip);
    }
    return 0;
}

template class CExtTMWI<CExtTabWnd>;
