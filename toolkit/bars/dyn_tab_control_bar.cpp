// The tabbed group: pages stacked in one place, the selected one on top and the only
// one visible; the strip below them (above with g_bTabsAtTop) shows when the group has
// two tabs or more.
#include "toolkit/bars/dyn_tab_control_bar.h"
#include <algorithm>
#include "framework/afxres.h"
#include "toolkit/theme/paint_manager.h"

IMPLEMENT_DYNCREATE(CExtDynTabControlBar, CExtDynControlBar)
IMPLEMENT_DYNAMIC(CExtDockDynTabBar, CExtDockDynBar)

BEGIN_MESSAGE_MAP(CExtDynTabControlBar, CExtDynControlBar)
    ON_WM_CREATE()
    ON_WM_NCCALCSIZE()
    ON_WM_SETFOCUS()
END_MESSAGE_MAP()

BEGIN_MESSAGE_MAP(CExtDockDynTabBar, CExtDockDynBar)
    ON_WM_SIZE()
END_MESSAGE_MAP()

int CExtDynTabControlBar::g_nTabSetting = -1;
bool CExtControlBar::g_bTabbedKeyboardSwitch = true;
bool CExtControlBar::g_bTabbedOleDragOver = true;

namespace {

bool IsShownPage(const CExtControlBar* pBar)
{
    return pBar != NULL && pBar->m_hWnd != NULL && (pBar->GetStyle() & WS_VISIBLE) != 0 && pBar->IsTabShown();
}

}  // namespace

CExtDynTabControlBar::CExtDynTabControlBar() {}
CExtDynTabControlBar::~CExtDynTabControlBar() {}

int CExtDynTabControlBar::GetTabSetting()
{
    if (g_nTabSetting != -1)
        return g_nTabSetting;
    return g_CurrentPaintManager->QueryTabSettingDefault();
}

DWORD CExtDynTabControlBar::AdjustTabWndStyle(DWORD dwTabWndStyle)
{
    if (GetTabSetting() == 1)
        dwTabWndStyle |= __TAB_SETTING_STYLE_BIT;
    return dwTabWndStyle;
}

CExtDockDynBar* CExtDynTabControlBar::CreateInnerDockBar() { return new CExtDockDynTabBar; }

CExtDockDynTabBar* CExtDynTabControlBar::GetInnerTabDockBar() const
{
    return static_cast<CExtDockDynTabBar*>(m_pWndDynDocker);
}

int CExtDynTabControlBar::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CExtDynControlBar::OnCreate(lpCreateStruct) == -1)
        return -1;
    CRect rcClient;
    GetClientRect(&rcClient);
    const CRect rcStrip(0, rcClient.bottom - __INITIAL_STRIP_HEIGHT, std::max(LONG(10), rcClient.right),
                        rcClient.bottom);
    const DWORD dwTabStyle = AdjustTabWndStyle(CExtTabWnd::__ETWS_EQUAL_WIDTHS |
                                               (g_bTabsAtTop ? CExtTabWnd::__ETWS_ORIENT_TOP
                                                             : CExtTabWnd::__ETWS_ORIENT_BOTTOM));
    if (!m_wndTabSwitcher.Create(this, rcStrip, UINT(-1), WS_CHILD | WS_VISIBLE, dwTabStyle))
        return -1;
    return 0;
}

void CExtDynTabControlBar::OnNcCalcSize(BOOL bCalcValidRects, NCCALCSIZE_PARAMS* lpncsp)
{
    if (IsFloating() && lpncsp != NULL)
    {
        ::InflateRect(&lpncsp->rgrc[0], -1, -1);
        return;
    }
    CExtDynControlBar::OnNcCalcSize(bCalcValidRects, lpncsp);
}

void CExtDynTabControlBar::OnSetFocus(CWnd* pOldWnd)
{
    CExtDynControlBar::OnSetFocus(pOldWnd);
    CExtControlBar* pPage = GetSelectedBar();
    if (pPage != NULL && pPage->m_hWnd != NULL && (pPage->GetStyle() & WS_VISIBLE) != 0 &&
        QueryFocusChangingEnabled(this, pPage->m_hWnd))
        pPage->SetFocus();
}

BOOL CExtDynTabControlBar::PreTranslateMessage(MSG* pMsg)
{
    if (m_wndTabSwitcher.m_hWnd != NULL && m_wndTabSwitcher.PreTranslateMessage(pMsg))
        return TRUE;
    return CExtDynControlBar::PreTranslateMessage(pMsg);
}

// ---- pages ----------------------------------------------------------------------------------

void CExtDynTabControlBar::GetPages(CArray<CExtControlBar*, CExtControlBar*>& arrPages) const
{
    arrPages.RemoveAll();
    if (m_wndTabSwitcher.m_hWnd == NULL)
        return;
    for (int i = 0; i < m_wndTabSwitcher.ItemGetCount(); i++)
    {
        CExtControlBar* pPage = m_wndTabSwitcher.GetItemBar(i, true);
        if (pPage != NULL && pPage->m_pDockBar == m_pWndDynDocker)
            arrPages.Add(pPage);
    }
}

CExtControlBar* CExtDynTabControlBar::GetSelectedBar() const
{
    if (m_wndTabSwitcher.m_hWnd == NULL)
        return NULL;
    return m_wndTabSwitcher.GetItemBar(m_wndTabSwitcher.SelectionGet(), true);
}

int CExtDynTabControlBar::GetBarTabIndex(CExtControlBar* pBar) const
{
    if (pBar == NULL || m_wndTabSwitcher.m_hWnd == NULL)
        return -1;
    return m_wndTabSwitcher.ItemFindByLParam((LPARAM)pBar, -1, true, true);
}

void CExtDynTabControlBar::InsertPlainBar(CExtControlBar* pBar, int& nPos)
{
    CExtDockDynTabBar* pInner = GetInnerTabDockBar();
    // A page of this group only changes its tab's place.
    const int nOwn = GetBarTabIndex(pBar);
    if (pBar->m_pDockBar == pInner && nOwn >= 0)
    {
        const int nTo = std::min(nPos, m_wndTabSwitcher.ItemGetCount() - 1);
        if (nTo != nOwn && nTo >= 0)
            m_wndTabSwitcher.ItemMove(nOwn, nTo, false);
        nPos = std::min(nTo + 1, m_wndTabSwitcher.ItemGetCount());
        return;
    }
    CExtDynTabControlBar* pOldGroup = pBar->GetTabbedContainer();
    if (pOldGroup != NULL && pOldGroup != this)
        pOldGroup->RemoveBarTab(pBar);
    CExtDockBar* pOldDock = DYNAMIC_DOWNCAST(CExtDockBar, pBar->m_pDockBar);
    const HWND hWndOldDock = pOldDock != NULL ? pOldDock->m_hWnd : NULL;
    const bool bLocked = pOldDock != NULL && pOldDock->SetLayoutLock(true);
    const bool bWasShown = IsShownPage(pBar);
    if (bWasShown)
        pBar->ShowWindow(SW_HIDE);
    pInner->DockControlBar(pBar, NULL, false);
    if (bLocked && ::IsWindow(hWndOldDock))
        pOldDock->SetLayoutLock(false);
    // The container the bar came from (a group, or two bars sharing a place) was locked
    // while the bar left: it dissolves now if that left it too few bars, before it
    // could stay behind hidden and empty.
    if (pOldDock != pInner && ::IsWindow(hWndOldDock) && pOldDock->IsKindOf(RUNTIME_CLASS(CExtDockDynBar)) &&
        !pOldDock->IsLayoutLocked())
        pOldDock->UpdateNestedLayout2();
    if (pBar->m_pDockSite != NULL)
        UpdateOleControlContainerFlags(pBar->m_pDockSite);
    if (!pInner->IsLayoutLocked())
    {
        CRect rc;
        pInner->GetClientRect(&rc);
        if (bWasShown && (m_wndTabSwitcher.GetStyle() & WS_VISIBLE) == 0)
            rc.bottom -= GetTabStripHeight() + 1;
        pBar->SetWindowPos(NULL, rc.left, rc.top, std::max(0, rc.Width()), std::max(0, rc.Height()),
                           SWP_NOZORDER | SWP_NOACTIVATE);
        pBar->ResizeContentWindow(-1, -1, true);
    }
    if (bWasShown)
        pBar->ShowWindow(SW_SHOWNA);
    if (m_pDockSite != NULL && pBar->m_hWnd != NULL)
        CExtDockBar::FindPlaceholderInFrame(m_pDockSite, UINT(WORD(pBar->GetDlgCtrlID())), NULL);
    m_wndTabSwitcher.InsertBar(pBar, nPos, false, false);
    nPos++;
}

void CExtDynTabControlBar::GetPagesBroughtBy(CExtControlBar* pBar, CArray<CExtControlBar*, CExtControlBar*>& arrPages)
{
    CExtDynTabControlBar* pGroup = DYNAMIC_DOWNCAST(CExtDynTabControlBar, pBar);
    CExtDynControlBar* pNested = DYNAMIC_DOWNCAST(CExtDynControlBar, pBar);
    if (pGroup != NULL)
        pGroup->GetPages(arrPages);
    else if (pNested != NULL)
        pNested->GetInnerBars(arrPages);
    else
        arrPages.Add(pBar);
}

void CExtDynTabControlBar::InsertBar(CExtControlBar* pBar, int nPos, bool bUpdate)
{
    if (pBar == NULL || pBar == this || pBar->m_hWnd == NULL || m_wndTabSwitcher.m_hWnd == NULL ||
        m_pWndDynDocker == NULL)
        return;
    m_wndTabSwitcher.RemovePreviewItems(false);
    if (nPos < 0 || nPos > m_wndTabSwitcher.ItemGetCount())
        nPos = m_wndTabSwitcher.ItemGetCount();
    CExtDynControlBar* pNested = DYNAMIC_DOWNCAST(CExtDynControlBar, pBar);
    if (pNested != NULL)
    {
        // A nested container brings every page it holds, in its own order.
        if (pNested->m_pWndDynDocker != NULL && pNested->m_pWndDynDocker->m_hWnd != NULL)
            pNested->m_pWndDynDocker->RemovePlaceholders(false);
        CArray<CExtControlBar*, CExtControlBar*> arrPages;
        GetPagesBroughtBy(pNested, arrPages);
        CExtDynTabControlBar* pGroup = DYNAMIC_DOWNCAST(CExtDynTabControlBar, pNested);
        for (INT_PTR i = 0; i < arrPages.GetSize(); i++)
        {
            if (pGroup != NULL)
                pGroup->RemoveBarTab(arrPages[i]);
            InsertPlainBar(arrPages[i], nPos);
        }
    }
    else
        InsertPlainBar(pBar, nPos);
    m_wndTabSwitcher.UpdateTabWnd(bUpdate);
    if (bUpdate)
    {
        if (m_pDockSite != NULL)
            CExtDockBar::RemoveEmptyRings(m_pDockSite);
        ResizeContentWindow(-1, -1, true);
        CExtPaintManager::PumpPaintMessages(true, true, true);
    }
}

void CExtDynTabControlBar::InsertPreview(CExtControlBar* pBar, int nPos, bool bUpdate)
{
    if (pBar == NULL || m_wndTabSwitcher.m_hWnd == NULL)
        return;
    if (nPos < 0 || nPos > m_wndTabSwitcher.ItemGetCount())
        nPos = m_wndTabSwitcher.ItemGetCount();
    CExtDynControlBar* pNested = DYNAMIC_DOWNCAST(CExtDynControlBar, pBar);
    if (pNested == NULL)
    {
        m_wndTabSwitcher.InsertBar(pBar, nPos, true, false);
    }
    else
    {
        CArray<CExtControlBar*, CExtControlBar*> arrPages;
        GetPagesBroughtBy(pNested, arrPages);
        for (INT_PTR i = 0; i < arrPages.GetSize(); i++)
            if (IsShownPage(arrPages[i]))
                m_wndTabSwitcher.InsertBar(arrPages[i], nPos++, true, false);
    }
    m_wndTabSwitcher.UpdateTabWnd(bUpdate);
    if (bUpdate)
        ResizeContentWindow(-1, -1, true);
}

void CExtDynTabControlBar::RemoveBarTab(CExtControlBar* pBar)
{
    const int nIndex = GetBarTabIndex(pBar);
    if (nIndex < 0)
        return;
    const bool bWasSelected = m_wndTabSwitcher.SelectionGet() == nIndex;
    m_wndTabSwitcher.ItemRemove(nIndex, 1, true);
    if (bWasSelected)
        EnsureSelection();
    if (m_hWnd != NULL)
        ResizeContentWindow(-1, -1, true);
}

void CExtDynTabControlBar::RemoveSelectedBar()
{
    if (m_wndTabSwitcher.m_hWnd == NULL)
        return;
    const int nSel = m_wndTabSwitcher.SelectionGet();
    if (nSel < 0)
        return;
    m_wndTabSwitcher.ItemRemove(nSel, 1, true);
    EnsureSelection();
    ResizeContentWindow(-1, -1, true);
}

void CExtDynTabControlBar::SelectVisibleTab(int n, bool bEnsureVisible, bool bUpdate)
{
    if (m_wndTabSwitcher.m_hWnd == NULL || n < 0)
        return;
    int nVisible = 0;
    for (int i = 0; i < m_wndTabSwitcher.ItemGetCount(); i++)
    {
        if (!m_wndTabSwitcher.ItemGet(i)->VisibleGet())
            continue;
        if (nVisible == n)
        {
            m_wndTabSwitcher.SelectionSet(i, bEnsureVisible, bUpdate);
            return;
        }
        nVisible++;
    }
    if (n < m_wndTabSwitcher.ItemGetCount())
        m_wndTabSwitcher.SelectionSet(n, bEnsureVisible, bUpdate);
}

void CExtDynTabControlBar::EnsureSelection()
{
    if (m_wndTabSwitcher.m_hWnd == NULL || m_pWndDynDocker == NULL || m_pWndDynDocker->m_hWnd == NULL)
        return;
    if (m_wndTabSwitcher.ItemGetCount() < 2 || m_wndTabSwitcher.SelectionGet() >= 0)
        return;
    for (HWND h = ::GetWindow(m_pWndDynDocker->m_hWnd, GW_CHILD); h != NULL; h = ::GetWindow(h, GW_HWNDNEXT))
    {
        CExtControlBar* pPage = DYNAMIC_DOWNCAST(CExtControlBar, CWnd::FromHandlePermanent(h));
        if (pPage != NULL && GetBarTabIndex(pPage) >= 0)
        {
            m_wndTabSwitcher.SelectBar(pPage);
            return;
        }
    }
}

void CExtDynTabControlBar::OnBarVisibilityChanged(CExtControlBar* pBar)
{
    if (pBar == NULL || m_wndTabSwitcher.m_hWnd == NULL)
        return;
    const bool bInDockBar = GetParent() != NULL && GetParent()->IsKindOf(RUNTIME_CLASS(CDockBar));
    if (!bInDockBar && (m_nOptionFlags & __ESF_OUTSIDE_FRAME) == 0)
        return;
    const int nIndex = GetBarTabIndex(pBar);
    if (nIndex < 0)
        return;
    const bool bShown = IsShownPage(pBar);
    if (!bShown && m_wndTabSwitcher.SelectionGet() == nIndex)
    {
        int nNext = -1;
        for (HWND h = ::GetWindow(pBar->m_hWnd, GW_HWNDNEXT); h != NULL && nNext < 0; h = ::GetWindow(h, GW_HWNDNEXT))
        {
            CExtControlBar* pNext = DYNAMIC_DOWNCAST(CExtControlBar, CWnd::FromHandlePermanent(h));
            if (IsShownPage(pNext))
                nNext = GetBarTabIndex(pNext);
        }
        m_wndTabSwitcher.SelectionSet(nNext, false, false);
    }
    CExtTabWnd::TAB_ITEM_INFO* pTii = m_wndTabSwitcher.ItemGet(nIndex);
    pTii->VisibleSet(bShown);
    if (bShown)
        m_wndTabSwitcher.SelectionSet(nIndex, false, false);
    m_wndTabSwitcher.UpdateTabWnd(true);
    CFrameWnd* pFrame = GetParentFrame();
    if (pFrame != NULL && pFrame->IsKindOf(RUNTIME_CLASS(CMiniFrameWnd)))
        pFrame->m_nIdleFlags |= CFrameWnd::idleLayout | CFrameWnd::idleNotify;
    ResizeContentWindow(-1, -1, true);
}

// ---- the drag code's marks -------------------------------------------------------------------

void CExtDynTabControlBar::RememberDraggedTab(CExtControlBar* pBar)
{
    const int nIndex = GetBarTabIndex(pBar);
    if (nIndex < 0)
        return;
    m_wndTabSwitcher.ItemGet(nIndex)->ModifyItemStyle(0, CExtDynTabWnd::__EDTI_PREVIEW);
    m_wndTabSwitcher.UpdateTabWnd(true);
}

void CExtDynTabControlBar::ShowDropPosition(CExtControlBar* pSrc, int nIndex)
{
    if (pSrc == NULL || m_wndTabSwitcher.m_hWnd == NULL)
        return;
    m_wndTabSwitcher.RemovePreviewItems(false);
    InsertPreview(pSrc, nIndex, true);
}

void CExtDynTabControlBar::RemoveTabHighlight(bool bUpdate)
{
    if (m_wndTabSwitcher.m_hWnd == NULL)
        return;
    m_wndTabSwitcher.RemovePreviewItems(false);
    m_wndTabSwitcher.ClearPreviewMarks(bUpdate);
    if (bUpdate)
        ResizeContentWindow(-1, -1, true);
}

void CExtDynTabControlBar::RestoreDraggedTab(CExtControlBar* pBar)
{
    RemoveTabHighlight(false);
    if (pBar == NULL || pBar->m_hWnd == NULL || GetBarTabIndex(pBar) < 0)
        return;
    if ((pBar->GetStyle() & WS_VISIBLE) == 0 && m_pDockSite != NULL)
        m_pDockSite->ShowControlBar(pBar, TRUE, TRUE);
    m_wndTabSwitcher.SelectBar(pBar);
    ResizeContentWindow(-1, -1, true);
}

// ---- overrides ---------------------------------------------------------------------------------

bool CExtDynTabControlBar::IsBarWithGripper(bool* pbCaptionOnTop, bool* pbTextOnGripper) const
{
    if (pbCaptionOnTop != NULL)
        *pbCaptionOnTop = false;
    if (pbTextOnGripper != NULL)
        *pbTextOnGripper = false;
    if (m_hWnd == NULL)
        return false;
    CFrameWnd* pFrame = GetParentFrame();
    if (pFrame != NULL && pFrame->IsKindOf(RUNTIME_CLASS(CMiniFrameWnd)) && IsSingleBarInMiniFrame())
        return false;
    if (pbCaptionOnTop != NULL)
        *pbCaptionOnTop = true;
    if (pbTextOnGripper != NULL)
        *pbTextOnGripper = true;
    return true;
}

void CExtDynTabControlBar::ShowBar(bool bShow, bool bDelay, bool bActiveTabOnly)
{
    CExtControlBar* pPage = GetSelectedBar();
    if (!bShow && bActiveTabOnly && pPage != NULL && pPage->m_hWnd != NULL)
    {
        pPage->ShowBar(false, true, bActiveTabOnly);
        CFrameWnd* pSite = GetDockingFrame();
        if (pSite != NULL && pPage->m_hWnd != NULL)
            pSite->ShowControlBar(pPage, FALSE, TRUE);
        CFrameWnd* pParentFrame = m_hWnd != NULL ? GetParentFrame() : NULL;
        if (!bDelay && pParentFrame != NULL)
            pParentFrame->RecalcLayout();
        return;
    }
    CExtDynControlBar::ShowBar(bShow, bDelay, bActiveTabOnly);
}

bool CExtDynTabControlBar::IsCloseActiveTabOnly() const
{
    CExtControlBar* pPage = GetSelectedBar();
    return pPage != NULL ? pPage->IsCloseActiveTabOnly() : CExtDynControlBar::IsCloseActiveTabOnly();
}

CSize CExtDynTabControlBar::CalcNestedMinSize()
{
    CSize size(CExtControlBar::GetMinHorzExtent(), CExtControlBar::GetMinVertExtent());
    CArray<CExtControlBar*, CExtControlBar*> arrPages;
    GetPages(arrPages);
    for (INT_PTR i = 0; i < arrPages.GetSize(); i++)
    {
        if (!IsShownPage(arrPages[i]))
            continue;
        size.cx = std::max(size.cx, LONG(arrPages[i]->GetMinHorzExtent()));
        size.cy = std::max(size.cy, LONG(arrPages[i]->GetMinVertExtent()));
    }
    return size;
}

int CExtDynTabControlBar::GetMinHorzExtent() const { return const_cast<CExtDynTabControlBar*>(this)->CalcNestedMinSize().cx; }

int CExtDynTabControlBar::GetMinVertExtent() const { return const_cast<CExtDynTabControlBar*>(this)->CalcNestedMinSize().cy; }

int CExtDynTabControlBar::OnGetBarCaptionText(int nType, CString& sText) const
{
    if (m_wndTabSwitcher.m_hWnd == NULL || m_wndTabSwitcher.ItemGetCount() == 0)
        return 0;
    const CExtControlBar* pPage = GetSelectedBar();
    if (pPage == NULL && m_pWndDynDocker != NULL && m_pWndDynDocker->m_hWnd != NULL)
    {
        for (HWND h = ::GetWindow(m_pWndDynDocker->m_hWnd, GW_CHILD); h != NULL && pPage == NULL;
             h = ::GetWindow(h, GW_HWNDNEXT))
            pPage = DYNAMIC_DOWNCAST(CExtControlBar, CWnd::FromHandlePermanent(h));
    }
    if (pPage == NULL)
        return 0;
    if (nType == 0)
        nType = 2;
    else if (nType == 1)
        nType = 3;
    return pPage->OnGetBarCaptionText(nType, sText);
}

bool CExtDynTabControlBar::OnTabSelectionChange(int, int, bool) { return true; }

int CExtDynTabControlBar::GetTabStripHeight()
{
    if (m_wndTabSwitcher.m_hWnd == NULL)
        return 0;
    m_wndTabSwitcher.OrientationSet(g_bTabsAtTop ? CExtTabWnd::__ETWS_ORIENT_TOP : CExtTabWnd::__ETWS_ORIENT_BOTTOM,
                                    false);
    // Measured over a band far deeper than any tab, so the items keep their own height.
    CRect rcClient;
    GetClientRect(&rcClient);
    m_wndTabSwitcher.m_wTabWndState |= CExtTabWnd::__ETWST_DELAY_RECALC;
    m_wndTabSwitcher.m_rcRecalcLayout = CRect(0, 0, std::max(10, int(rcClient.Width())), 1000);
    m_wndTabSwitcher.RecalcLayout();
    m_wndTabSwitcher.m_rcRecalcLayout.SetRectEmpty();
    m_wndTabSwitcher.m_wTabWndState |= CExtTabWnd::__ETWST_DELAY_RECALC;
    const int nMeasured = std::max(int(m_wndTabSwitcher.GetItemsArea().Height()), int(CExtTabWnd::__ETW_MIN_ITEM_THICKNESS));
    LONG nExtra = 0;
    if (!GetPaintManager()->QueryTabWndMetric(nExtra, m_wndTabSwitcher.OrientationGet(), &m_wndTabSwitcher))
        nExtra = 4;
    return nMeasured + int(nExtra) + 2;
}

void CExtDynTabControlBar::ResizeContentWindow(int cx, int cy, bool bRedraw)
{
    CExtDockDynTabBar* pInner = GetInnerTabDockBar();
    if (m_hWnd == NULL || m_wndTabSwitcher.m_hWnd == NULL || pInner == NULL || pInner->m_hWnd == NULL)
        return;
    m_wndTabSwitcher.OrientationSet(g_bTabsAtTop ? CExtTabWnd::__ETWS_ORIENT_TOP : CExtTabWnd::__ETWS_ORIENT_BOTTOM,
                                    false);
    CRect rc(0, 0, cx, cy);
    if (cx < 0 || cy < 0)
        GetClientRect(&rc);
    CDockBar* pParentDock = DYNAMIC_DOWNCAST(CDockBar, GetParent());
    if (pParentDock != NULL && pParentDock->GetDlgCtrlID() == AFX_IDW_DOCKBAR_FLOAT)
        rc.DeflateRect(1, 1);
    const int h = GetTabStripHeight();
    CRect rcStrip(rc), rcPages(rc);
    if (g_bTabsAtTop)
    {
        rcStrip.bottom = std::min(rc.bottom, rc.top + h + 1);
        rcPages.top = rcStrip.bottom;
    }
    else
    {
        rcStrip.top = std::max(rc.top, rc.bottom - h - 1);
        rcPages.bottom = rcStrip.top;
    }
    int nVisibleItems = 0;
    for (int i = 0; i < m_wndTabSwitcher.ItemGetCount(); i++)
        if (m_wndTabSwitcher.ItemGet(i)->VisibleGet())
            nVisibleItems++;
    if (nVisibleItems >= 2)
    {
        m_wndTabSwitcher.SetWindowPos(NULL, rcStrip.left, rcStrip.top, rcStrip.Width(), rcStrip.Height(),
                                      SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    }
    else
    {
        m_wndTabSwitcher.ShowWindow(SW_HIDE);
        rcPages = rc;
    }
    pInner->SetWindowPos(NULL, rcPages.left, rcPages.top, std::max(0, rcPages.Width()), std::max(0, rcPages.Height()),
                         SWP_NOZORDER | SWP_NOACTIVATE);
    pInner->StackPages(NULL, true);
    m_wndTabSwitcher.UpdateTabWnd(true);
    m_wndTabSwitcher.Invalidate();
    if (bRedraw)
        pInner->UpdateNestedLayout();
}

// ---- the inner dock bar -------------------------------------------------------------------------

CExtDockDynTabBar::CExtDockDynTabBar() {}
CExtDockDynTabBar::~CExtDockDynTabBar() {}

CExtDynTabControlBar* CExtDockDynTabBar::GetTabContainer() const
{
    return DYNAMIC_DOWNCAST(CExtDynTabControlBar, GetParent());
}

CSize CExtDockDynTabBar::CalcFixedLayout(BOOL, BOOL)
{
    CSize size(0, 0);
    StackPages(&size, false);
    return size;
}

BOOL CExtDockDynTabBar::PreTranslateMessage(MSG* pMsg)
{
    CExtDynTabControlBar* pGroup = GetTabContainer();
    if (pGroup != NULL && pGroup->m_hWnd != NULL && pGroup->m_wndTabSwitcher.m_hWnd != NULL &&
        pGroup->m_wndTabSwitcher.PreTranslateMessage(pMsg))
        return TRUE;
    return CExtDockDynBar::PreTranslateMessage(pMsg);
}

void CExtDockDynTabBar::CollectBars(CArray<CControlBar*, CControlBar*>& arrBars) const
{
    CExtDynTabControlBar* pGroup = GetTabContainer();
    if (pGroup == NULL)
    {
        CExtDockDynBar::CollectBars(arrBars);
        return;
    }
    CArray<CExtControlBar*, CExtControlBar*> arrPages;
    pGroup->GetPages(arrPages);
    for (INT_PTR i = 0; i < arrPages.GetSize(); i++)
        arrBars.Add(arrPages[i]);
}

void CExtDockDynTabBar::UpdateNestedLayout()
{
    if (IsLayoutLocked())
        return;
    // The pages are stacked by the group's own layout; the rows' arrangement of the
    // nested dock bar has nothing to share out here.
    CExtDockBar::UpdateNestedLayout();
    SyncPageSizes(true, false);
}

void CExtDockDynTabBar::UpdateNestedLayout2()
{
    if (IsLayoutLocked())
        return;
    // A group keeps its place while one page is left; the last page leaving dissolves it.
    bool bHasPage = false;
    for (INT_PTR i = 1; i < m_arrBars.GetSize() && !bHasPage; i++)
        bHasPage = GetDockedControlBar(int(i)) != NULL;
    const HWND hWndOwn = m_hWnd;
    if (!bHasPage)
    {
        DissolveContainer(NULL);
        return;
    }
    CExtDockBar::UpdateNestedLayout2();
    if (::IsWindow(hWndOwn))
        SyncPageSizes(false, true);
}

void CExtDockDynTabBar::StackPages(CSize* pSize, bool bRedraw)
{
    if (m_hWnd == NULL)
        return;
    CRect rcWnd;
    GetWindowRect(&rcWnd);
    if (pSize != NULL)
        *pSize = rcWnd.Size();
    CArray<CControlBar*, CControlBar*> arrPages;
    for (INT_PTR i = 1; i < m_arrBars.GetSize(); i++)
    {
        CControlBar* pBar = GetDockedControlBar(int(i));
        if (pBar != NULL && pBar->m_hWnd != NULL)
            arrPages.Add(pBar);
    }
    if (arrPages.GetSize() == 0)
        return;
    CRect rcClient;
    GetClientRect(&rcClient);
    for (INT_PTR i = 0; i < arrPages.GetSize() && bRedraw; i++)
    {
        CExtControlBar* pExt = DYNAMIC_DOWNCAST(CExtControlBar, arrPages[i]);
        if (pExt != NULL)
            pExt->m_nActivityFlags |= CExtControlBar::__EAF_SYNC_GUARD;
    }
    HDWP hDWP = ::BeginDeferWindowPos(int(arrPages.GetSize()));
    for (INT_PTR i = 0; i < arrPages.GetSize(); i++)
    {
        const UINT nFlags = SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED | SWP_NOOWNERZORDER;
        if (hDWP != NULL)
            hDWP = ::DeferWindowPos(hDWP, arrPages[i]->m_hWnd, NULL, rcClient.left, rcClient.top, rcClient.Width(),
                                    rcClient.Height(), nFlags);
        if (hDWP == NULL)
            arrPages[i]->SetWindowPos(NULL, rcClient.left, rcClient.top, rcClient.Width(), rcClient.Height(), nFlags);
    }
    if (hDWP != NULL)
        ::EndDeferWindowPos(hDWP);
    for (INT_PTR i = 0; i < arrPages.GetSize() && bRedraw; i++)
    {
        CExtControlBar* pExt = DYNAMIC_DOWNCAST(CExtControlBar, arrPages[i]);
        if (pExt == NULL || pExt->m_hWnd == NULL)
            continue;
        pExt->m_nActivityFlags &= ~CExtControlBar::__EAF_SYNC_GUARD;
        pExt->ResizeContentWindow(-1, -1, true);
    }
}

void CExtDockDynTabBar::SyncPageSizes(bool bCopySizes, bool bEnsureSelection)
{
    CExtDynTabControlBar* pGroup = GetTabContainer();
    if (pGroup == NULL)
        return;
    if (bCopySizes)
    {
        for (INT_PTR i = 1; i < m_arrBars.GetSize(); i++)
        {
            CExtControlBar* pPage = DYNAMIC_DOWNCAST(CExtControlBar, GetDockedControlBar(int(i)));
            if (pPage == NULL)
                continue;
            pPage->m_sizeDockedH = pGroup->m_sizeDockedH;
            pPage->m_sizeDockedV = pGroup->m_sizeDockedV;
            pPage->m_sizeFloated = pGroup->m_sizeFloated;
        }
    }
    if (bEnsureSelection)
        pGroup->EnsureSelection();
}

void CExtDockDynTabBar::OnSize(UINT nType, int cx, int cy)
{
    CExtDockDynBar::OnSize(nType, cx, cy);
    StackPages(NULL, false);
}
