// The dynamic bars' site (found from any window through a registered message; it knows
// the frame's MDI client and tab page container and forgets bars as they go) and the
// document frame that hosts a bar's content window as an MDI child.
#include "toolkit/bars/dynamic_bar.h"
#include "framework/miniframe.h"
#include "toolkit/bars/auto_hide.h"
#include "toolkit/bars/dyn_tab_control_bar.h"
#include "toolkit/dialogs/tab_page_container.h"

const UINT CExtDynamicBarSite::g_nMsgFindDynamicBarSite =
    ::RegisterWindowMessage("CExtDynamicBarSite::g_nMsgFindDynamicBarSite");

IMPLEMENT_DYNCREATE(CExtDynamicMDIChildWnd, CMDIChildWnd)

// ---- the site -------------------------------------------------------------------------------

CExtDynamicBarSite::CExtDynamicBarSite()
    : CExtHookSink(false), m_pDockSite(NULL), m_eUiType(__EDUIT_NOT_SUPPORTED), m_hWndMdiClient(NULL),
      m_pTabPageContainer(NULL)
{
}

CExtDynamicBarSite::~CExtDynamicBarSite() { Uninstall(); }

bool CExtDynamicBarSite::Install(CFrameWnd* pDockSite)
{
    if (pDockSite == NULL || pDockSite->GetSafeHwnd() == NULL)
        return false;
    Uninstall();
    m_pDockSite = pDockSite;
    OnRefreshSite();
    return SetupHookWndSink(pDockSite->m_hWnd);
}

void CExtDynamicBarSite::Uninstall()
{
    if (m_pDockSite != NULL && ::IsWindow(m_pDockSite->GetSafeHwnd()))
        SetupHookWndSink(m_pDockSite->m_hWnd, true);
    m_pDockSite = NULL;
}

bool CExtDynamicBarSite::OnHookWndMsg(LRESULT& lResult, HWND hWndHooked, UINT nMessage, WPARAM& wParam,
                                      LPARAM& lParam)
{
    if (nMessage == g_nMsgFindDynamicBarSite && wParam != 0)
    {
        *reinterpret_cast<CExtDynamicBarSite**>(wParam) = this;
        lResult = 0;
        return true;
    }
    if (nMessage == WM_NCDESTROY && m_pDockSite != NULL && hWndHooked == m_pDockSite->GetSafeHwnd())
        m_pDockSite = NULL;
    return CExtHookSink::OnHookWndMsg(lResult, hWndHooked, nMessage, wParam, lParam);
}

CExtDynamicBarSite* CExtDynamicBarSite::FindBarSite(HWND hWnd)
{
    if (hWnd == NULL || !::IsWindow(hWnd))
        return NULL;
    CWnd* pWnd = CWnd::FromHandle(hWnd);
    CFrameWnd* pFrame = NULL;
    CExtControlBar* pBar = DYNAMIC_DOWNCAST(CExtControlBar, CWnd::FromHandlePermanent(hWnd));
    if (pBar != NULL && (pBar->IsKindOf(RUNTIME_CLASS(CExtDynamicControlBar)) ||
                         CExtPaintManagerHolder::IsKindOfByName(pBar, "CExtDynamicTabbedControlBar")))
        pFrame = pBar->m_pDockSite;
    else
        pFrame = pWnd->GetParentFrame();
    if (pFrame != NULL && pFrame->IsKindOf(RUNTIME_CLASS(CExtMiniDockFrameWnd)))
        pFrame = pFrame->GetParentFrame();
    CExtDynamicBarSite* pSite = NULL;
    if (pFrame != NULL && pFrame->GetSafeHwnd() != NULL)
    {
        ::SendMessage(pFrame->m_hWnd, g_nMsgFindDynamicBarSite, WPARAM(&pSite), 0);
        if (pSite != NULL)
            return pSite;
    }
    for (HWND hWalk = hWnd; hWalk != NULL; hWalk = ::GetParent(hWalk))
    {
        ::SendMessage(hWalk, g_nMsgFindDynamicBarSite, WPARAM(&pSite), 0);
        if (pSite != NULL)
            return pSite;
    }
    return NULL;
}

CExtDynamicBarSite* CExtDynamicBarSite::FindBarSiteByWnd(CWnd* pWnd)
{
    if (pWnd == NULL || pWnd->GetSafeHwnd() == NULL)
        return NULL;
    return FindBarSite(pWnd->m_hWnd);
}

bool CExtDynamicBarSite::OnTabPageContainerClickedButton(int nHitTest, bool bButtonPressed, int nMouseButton,
                                                         UINT)
{
    if (bButtonPressed || nMouseButton != 1 || nHitTest != CExtTabWnd::__ETWH_BUTTON_CLOSE)
        return true;
    CExtTabPageContainerWnd* pContainer = GetTabPageContainer();
    if (pContainer == NULL || pContainer->GetSafeHwnd() == NULL)
        return true;
    const HWND hWndPage = pContainer->PageHwndGetSafe(pContainer->PageSelectionGet());
    if (hWndPage == NULL)
        return true;
    for (POSITION pos = m_mapBars.GetStartPosition(); pos != NULL;)
    {
        void* pKey = NULL;
        void* pValue = NULL;
        m_mapBars.GetNextAssoc(pos, pKey, pValue);
        CExtDynamicControlBar* pBar = static_cast<CExtDynamicControlBar*>(pKey);
        if (pBar->GetSafeHwnd() != NULL && pBar->GetContentWindow() == hWndPage &&
            pBar->GetBarState() == CExtDynamicControlBar::__EDBS_DOCUMENT)
        {
            pBar->SetBarState(CExtDynamicControlBar::__EDBS_DOCKED, false);
            break;
        }
    }
    return true;
}

void CExtDynamicBarSite::OnRefreshSite()
{
    if (m_pDockSite == NULL || m_pDockSite->GetSafeHwnd() == NULL)
        return;
    CMDIFrameWnd* pMdiFrame = DYNAMIC_DOWNCAST(CMDIFrameWnd, m_pDockSite);
    m_hWndMdiClient = pMdiFrame != NULL ? pMdiFrame->m_hWndMDIClient : NULL;
    m_pTabPageContainer = NULL;
    for (HWND h = ::GetWindow(m_pDockSite->m_hWnd, GW_CHILD); h != NULL; h = ::GetWindow(h, GW_HWNDNEXT))
    {
        CExtTabPageContainerWnd* p = DYNAMIC_DOWNCAST(CExtTabPageContainerWnd, CWnd::FromHandlePermanent(h));
        if (p != NULL)
        {
            m_pTabPageContainer = p;
            break;
        }
    }
}

CExtTabPageContainerWnd* CExtDynamicBarSite::GetTabPageContainer()
{
    if (GetDetectedUiType() == __EDUIT_UNKNOWN)
        OnRefreshSite();
    return m_pTabPageContainer;
}

HWND CExtDynamicBarSite::GetMdiClient()
{
    if (GetDetectedUiType() == __EDUIT_UNKNOWN)
        OnRefreshSite();
    return m_hWndMdiClient;
}

HWND CExtDynamicBarSite::GetActiveMdiChild(bool* pbMaximized, CMDIChildWnd** ppChild)
{
    if (pbMaximized != NULL)
        *pbMaximized = false;
    if (ppChild != NULL)
        *ppChild = NULL;
    const HWND hWndClient = GetMdiClient();
    if (hWndClient == NULL || !::IsWindow(hWndClient))
        return NULL;
    BOOL bMaximized = FALSE;
    const HWND hWndActive = HWND(::SendMessage(hWndClient, WM_MDIGETACTIVE, 0, LPARAM(&bMaximized)));
    if (pbMaximized != NULL)
        *pbMaximized = bMaximized != FALSE;
    if (hWndActive == NULL)
        return NULL;
    CMDIChildWnd* pChild = DYNAMIC_DOWNCAST(CMDIChildWnd, CWnd::FromHandlePermanent(hWndActive));
    if (pChild != NULL && pChild->m_hMenuShared != NULL && (pChild->GetStyle() & WS_VISIBLE) == 0)
    {
        if (pbMaximized != NULL)
            *pbMaximized = false;
    }
    else if (ppChild != NULL)
        *ppChild = pChild;
    return hWndActive;
}

void CExtDynamicBarSite::BarAdd(CExtDynamicControlBar* pBar)
{
    if (pBar != NULL)
        m_mapBars.SetAt(pBar, pBar);
}

bool CExtDynamicBarSite::BarIsKnown(CExtDynamicControlBar* pBar) const
{
    void* p = NULL;
    return pBar != NULL && m_mapBars.Lookup(pBar, p) != FALSE;
}

CExtDynamicMDIChildWnd* CExtDynamicBarSite::OnCreateDocumentFrame(CExtDynamicControlBar* pBar)
{
    return new CExtDynamicMDIChildWnd(pBar);
}

void CExtDynamicBarSite::OnBarIdReleased(UINT nCtrlID) { m_arrReleasedIds.Add(nCtrlID); }

void CExtDynamicBarSite::OnBarDestroyed(CExtDynamicControlBar* pBar, bool bForce)
{
    if (pBar == NULL)
        return;
    // A bar whose window is going is not destroyed again; its empty floating frame is.
    const bool bWindowGoing = (pBar->m_nDynFlags & 0x02) != 0;
    const HWND hWndContent = pBar->m_hWndContent;
    if (pBar->m_pDockSite != NULL && pBar->m_pDockBar != NULL && hWndContent != NULL && ::IsWindow(hWndContent) &&
        ::GetParent(hWndContent) != pBar->m_hWnd)
    {
        const eDetectedUiType_t eMode = GetDetectedUiType();
        if (eMode == __EDUIT_MDI_STANDARD || eMode == __EDUIT_MDI_WITH_TABS)
        {
            CExtDynamicMDIChildWnd* pDoc =
                DYNAMIC_DOWNCAST(CExtDynamicMDIChildWnd, CWnd::FromHandlePermanent(::GetParent(hWndContent)));
            if (pDoc != NULL)
                pDoc->DestroyWindow();
        }
        else if (eMode == __EDUIT_TAB_PAGE_CONTAINER)
        {
            CExtTabPageContainerWnd* pContainer = GetTabPageContainer();
            for (int i = 0; pContainer != NULL && i < pContainer->PageGetCount(); i++)
                if (pContainer->PageHwndGetSafe(i) == hWndContent)
                {
                    pContainer->PageRemove(i, 1, true);
                    break;
                }
        }
    }
    CFrameWnd* pMiniFrame = NULL;
    if (pBar->m_pDockBar == NULL || bForce)
    {
        m_mapBars.RemoveKey(pBar);
        if (pBar->m_pDockBar == NULL)
            return;
        CDockBar* pDockBar = pBar->m_pDockBar;
        for (INT_PTR i = pDockBar->m_arrBars.GetSize() - 1; i >= 0; i--)
            if (pDockBar->m_arrBars[i] == pBar)
                pDockBar->m_arrBars.RemoveAt(i);
        if (pBar->IsFloating())
            pMiniFrame = DYNAMIC_DOWNCAST(CMiniDockFrameWnd, pBar->GetParentFrame());
        pBar->m_pDockSite = NULL;
        pBar->m_pDockBar = NULL;
    }
    else
    {
        if (m_pDockSite == NULL || m_pDockSite->GetSafeHwnd() == NULL || !BarIsKnown(pBar))
            return;
        if (!pBar->IsFloating())
        {
            if (pBar->AutoHideModeGet())
            {
                CExtDynAutoHideArea* pArea = CExtDynAutoHideArea::FindBarArea(pBar);
                CExtDynAutoHideSlider* pSlider = pArea != NULL ? pArea->GetSlider() : NULL;
                if (pSlider != NULL && pSlider->GetSafeHwnd() != NULL && (pSlider->GetStyle() & WS_VISIBLE) != 0)
                    pSlider->SendMessage(WM_CANCELMODE);
                if (pArea != NULL)
                    pArea->RemoveBar(pBar, true);
            }
            CExtDockBar* pExtDockBar = DYNAMIC_DOWNCAST(CExtDockBar, pBar->m_pDockBar);
            CExtDockDynTabBar* pTabDock = DYNAMIC_DOWNCAST(CExtDockDynTabBar, pBar->m_pDockBar);
            CExtDynTabControlBar* pGroup = pTabDock != NULL ? pTabDock->GetTabContainer() : NULL;
            if (pGroup != NULL && pGroup->GetBarTabIndex(pBar) >= 0)
            {
                // The page's tab goes with it.
                pGroup->m_wndTabSwitcher.SelectionSet(pGroup->GetBarTabIndex(pBar), false, false);
                pGroup->RemoveSelectedBar();
            }
            if (pExtDockBar != NULL)
                pExtDockBar->RemoveControlBar(pBar);
            else if (pBar->m_pDockBar != NULL)
                pBar->m_pDockBar->RemoveControlBar(pBar);
        }
        else
            pMiniFrame = DYNAMIC_DOWNCAST(CMiniDockFrameWnd, pBar->GetParentFrame());
        m_pDockSite->RemoveControlBar(pBar);
        pBar->m_pDockSite = NULL;
        pBar->m_pDockBar = NULL;
        m_mapBars.RemoveKey(pBar);
        if ((pBar->m_nDynFlags & 1) == 0)
            OnBarIdReleased(UINT(pBar->GetDlgCtrlID()));
    }
    if (pMiniFrame != NULL && pMiniFrame->GetSafeHwnd() != NULL && !bWindowGoing)
        pMiniFrame->DestroyWindow();
    else if (pMiniFrame != NULL && pMiniFrame->GetSafeHwnd() != NULL)
        pMiniFrame->ShowWindow(SW_HIDE);  // its only bar is going; the frame follows at its own close
    else if (!bWindowGoing && pBar->GetSafeHwnd() != NULL)
        pBar->DestroyWindow();
    if (!bForce && m_pDockSite != NULL && m_pDockSite->GetSafeHwnd() != NULL)
        CExtDockBar::RemoveEmptyRings(m_pDockSite);
}

// ---- the document frame -------------------------------------------------------------------

BEGIN_MESSAGE_MAP(CExtDynamicMDIChildWnd, CMDIChildWnd)
    ON_WM_SIZE()
    ON_WM_DESTROY()
    ON_WM_SETFOCUS()
END_MESSAGE_MAP()

CExtDynamicMDIChildWnd::CExtDynamicMDIChildWnd(CExtDynamicControlBar* pBar)
    : m_hWndBar(pBar != NULL ? pBar->GetSafeHwnd() : NULL), m_hWndContent(NULL)
{
}

CExtDynamicMDIChildWnd::~CExtDynamicMDIChildWnd() {}

CExtDynamicControlBar* CExtDynamicMDIChildWnd::GetBar() const
{
    if (m_hWndBar == NULL || !::IsWindow(m_hWndBar))
        return NULL;
    return DYNAMIC_DOWNCAST(CExtDynamicControlBar, CWnd::FromHandlePermanent(m_hWndBar));
}

void CExtDynamicMDIChildWnd::OnSize(UINT nType, int cx, int cy)
{
    CMDIChildWnd::OnSize(nType, cx, cy);
    if (m_hWndContent != NULL && ::IsWindow(m_hWndContent) && ::GetParent(m_hWndContent) == m_hWnd)
        ::MoveWindow(m_hWndContent, 0, 0, cx, cy, TRUE);
}

void CExtDynamicMDIChildWnd::OnDestroy()
{
    // The content belongs to the bar: it goes back there rather than down with the frame.
    CExtDynamicControlBar* pBar = GetBar();
    if (pBar != NULL && m_hWndContent != NULL && ::IsWindow(m_hWndContent) && ::GetParent(m_hWndContent) == m_hWnd)
    {
        ::ShowWindow(m_hWndContent, SW_HIDE);
        ::SetParent(m_hWndContent, pBar->m_hWnd);
        CRect rcClient;
        pBar->GetClientRect(&rcClient);
        ::MoveWindow(m_hWndContent, 0, 0, rcClient.Width(), rcClient.Height(), FALSE);
        ::ShowWindow(m_hWndContent, SW_SHOW);
    }
    CMDIChildWnd::OnDestroy();
}

void CExtDynamicMDIChildWnd::OnSetFocus(CWnd* pOldWnd)
{
    CMDIChildWnd::OnSetFocus(pOldWnd);
    if (m_hWndContent != NULL && ::IsWindow(m_hWndContent) && ::GetParent(m_hWndContent) == m_hWnd)
        ::SetFocus(m_hWndContent);
}
