// The bar's side of auto-hide: pinning a bar into the auto-hide area of its side and
// taking it back, the queries that tabbed groups and auto-hide areas ask a bar, and the
// OLE-control container flags every docking change refreshes.
#include "toolkit/bars/auto_hide.h"
#include "toolkit/bars/dyn_tab_control_bar.h"
#include "toolkit/bars/dynamic_bar.h"
#include "toolkit/menus/popup_menu_wnd.h"

namespace {

bool IsTabbedPage(const CExtControlBar* pBar)
{
    return pBar->m_pDockBar != NULL && CExtPaintManagerHolder::IsKindOfByName(pBar->m_pDockBar, "CExtDockDynTabBar");
}

bool UpdateOleFlagsOf(CWnd* pWnd)
{
    if (pWnd == NULL || pWnd->GetSafeHwnd() == NULL)
        return false;
    if (pWnd->m_pCtrlSite != NULL)
        return true;
    bool bAny = false;
    for (HWND hChild = ::GetWindow(pWnd->m_hWnd, GW_CHILD); hChild != NULL; hChild = ::GetWindow(hChild, GW_HWNDNEXT))
    {
        CWnd* pChild = CWnd::FromHandlePermanent(hChild);
        if (pChild != NULL && UpdateOleFlagsOf(pChild))
            bAny = true;
    }
    if (bAny)
        pWnd->m_nFlags |= WF_OLECTLCONTAINER;
    else
        pWnd->m_nFlags &= ~WF_OLECTLCONTAINER;
    return bAny;
}

}  // namespace

bool CExtControlBar::OnQueryTabMate(const CExtControlBar*) const { return true; }

bool CExtControlBar::OnQueryTabShown() const { return true; }

void CExtControlBar::OnBarStateSerialized(bool)
{
    // The plain bar keeps nothing beyond what the frame's dock state holds.
    return;
}

bool CExtControlBar::UpdateOleControlContainerFlags(CWnd* pWnd)
{
    if (pWnd == NULL || pWnd->GetSafeHwnd() == NULL)
        return false;
    bool bResult = UpdateOleFlagsOf(pWnd);
    CFrameWnd* pFrame = DYNAMIC_DOWNCAST(CFrameWnd, pWnd);
    if (pFrame == NULL || pFrame->IsKindOf(RUNTIME_CLASS(CExtMiniDockFrameWnd)))
        return bResult;
    // The floating frames of the frame's bars hold controls of the frame too.
    CMapPtrToPtr mapFrames;
    mapFrames.InitHashTable(10);
    POSITION pos = pFrame->m_listControlBars.GetHeadPosition();
    while (pos != NULL)
    {
        CControlBar* pBar = reinterpret_cast<CControlBar*>(pFrame->m_listControlBars.GetNext(pos));
        if (pBar == NULL || pBar->m_pDockBar == NULL || pBar->IsKindOf(RUNTIME_CLASS(CDockBar)) ||
            pBar->GetSafeHwnd() == NULL)
            continue;
        CFrameWnd* pParentFrame = pBar->GetParentFrame();
        if (pParentFrame == NULL || pParentFrame == pFrame ||
            !pParentFrame->IsKindOf(RUNTIME_CLASS(CExtMiniDockFrameWnd)))
            continue;
        void* pDummy = NULL;
        if (mapFrames.Lookup(pParentFrame, pDummy))
            continue;
        mapFrames.SetAt(pParentFrame, pParentFrame);
        if (UpdateOleFlagsOf(pParentFrame))
            bResult = true;
    }
    return bResult;
}

CWnd* CExtControlBar::GetAutoHideSliderShowingBar() const
{
    if (!AutoHideModeGet() || m_hWnd == NULL)
        return NULL;
    CExtDynAutoHideArea* pArea = CExtDynAutoHideArea::FindBarArea(const_cast<CExtControlBar*>(this));
    CExtDynAutoHideSlider* pSlider = pArea != NULL ? pArea->GetSlider() : NULL;
    if (pSlider == NULL || pSlider->GetSafeHwnd() == NULL || !pSlider->IsOut() || pSlider->GetShownBar() != this)
        return NULL;
    return pSlider;
}

void CExtControlBar::AutoHideBarGoing()
{
    CWnd* pSlider = GetAutoHideSliderShowingBar();
    if (pSlider != NULL)
        pSlider->SendMessage(WM_CANCELMODE);
    CExtDynAutoHideArea* pArea = CExtDynAutoHideArea::FindBarArea(this);
    if (pArea != NULL)
        pArea->RemoveBar(this, true);
}

bool CExtControlBar::AutoHideModeSet(bool bAutoHide, bool bAnimate, bool bRecalc, bool bForce)
{
    if (m_hWnd == NULL)
        return false;
    const bool bCurrent = AutoHideModeGet();
    if ((bAutoHide || bCurrent) && (IsFixedMode() || IsFixedDockStyle()))
        return false;
    if (IsFloating())
        return false;
    if (bAutoHide == bCurrent)
        return true;
    // A page pins its whole group.
    if (IsTabbedPage(this))
    {
        CExtControlBar* pGroup = DYNAMIC_DOWNCAST(CExtControlBar, m_pDockBar->GetParent());
        if (pGroup != NULL && pGroup != this)
            return pGroup->AutoHideModeSet(bAutoHide, bAnimate, bRecalc, bAutoHide ? true : bForce);
    }
    CExtDockBar* pDockBar = DYNAMIC_DOWNCAST(CExtDockBar, m_pDockBar);
    CExtDynAutoHideArea* pArea = pDockBar != NULL ? pDockBar->GetAutoHideArea() : NULL;
    CFrameWnd* pSite = m_pDockSite;
    if (pArea == NULL || pArea->GetSafeHwnd() == NULL || pSite == NULL || pSite->GetSafeHwnd() == NULL)
        return false;
    if (!bAutoHide)
    {
        pSite->DelayRecalcLayout();
        // A bar that is out goes back into the slider's place first, so its content is
        // home before the bar returns to its row.
        CWnd* pSlider = GetAutoHideSliderShowingBar();
        if (pSlider == NULL && bForce)
        {
            char sClass[260];
            for (HWND h = ::GetWindow(pArea->m_hWnd, GW_HWNDFIRST); h != NULL; h = ::GetWindow(h, GW_HWNDNEXT))
                if (::GetClassName(h, sClass, 260) > 0 && ::lstrcmp(sClass, CExtDynAutoHideSlider::g_sSliderClassName) == 0)
                {
                    pSlider = CWnd::FromHandle(h);
                    break;
                }
        }
        if (pSlider != NULL)
            pSlider->SendMessage(WM_CANCELMODE);
        pArea->RemoveBar(this, bForce);
        CExtDynTabControlBar* pGroup = DYNAMIC_DOWNCAST(CExtDynTabControlBar, this);
        if (pGroup != NULL)
        {
            // The dynamic pages learn whether they show again.
            CArray<CExtControlBar*, CExtControlBar*> arrPages;
            pGroup->GetPages(arrPages);
            for (INT_PTR i = 0; i < arrPages.GetSize(); i++)
            {
                if (bForce && arrPages[i]->IsVisible())
                    pSite->ShowControlBar(arrPages[i], FALSE, TRUE);
                CExtDynamicControlBar* pPage = DYNAMIC_DOWNCAST(CExtDynamicControlBar, arrPages[i]);
                if (pPage != NULL)
                    pPage->m_dwHiddenFlags = bForce ? (pPage->m_dwHiddenFlags | 1) : (pPage->m_dwHiddenFlags & ~DWORD(1));
            }
        }
    }
    else
    {
        if (IsVisible())
            pSite->ShowControlBar(this, FALSE, TRUE);
        pSite->DelayRecalcLayout();
        pArea->AppendBar(this, bForce);
        CExtDynTabControlBar* pGroup = DYNAMIC_DOWNCAST(CExtDynTabControlBar, this);
        CExtControlBar* pShownPage = pGroup != NULL ? pGroup->GetSelectedBar() : NULL;
        if (pShownPage != NULL)
        {
            // The tab of the page the group shows is the group's active one.
            CExtDockBar* pFrameDockBar = NULL;
            for (CWnd* pWalk = pShownPage->GetParent(); pWalk != NULL && pFrameDockBar == NULL; pWalk = pWalk->GetParent())
            {
                CExtDockBar* p = DYNAMIC_DOWNCAST(CExtDockBar, pWalk);
                if (p != NULL && !p->IsKindOf(RUNTIME_CLASS(CExtDockDynBar)))
                    pFrameDockBar = p;
            }
            CExtDynAutoHideArea* pPageArea = pFrameDockBar != NULL ? pFrameDockBar->GetAutoHideArea() : NULL;
            const int nIndex = pPageArea != NULL ? pPageArea->ItemFindByLParam(LPARAM(pShownPage), -1, true, true) : -1;
            if (nIndex >= 0)
                pPageArea->ItemGet(nIndex)->ModifyItemStyle(0, CExtTabWnd::TAB_ITEM_INFO::__ETWI_IN_GROUP_ACTIVE);
        }
    }
    if (bAutoHide)
        m_nInteractionFlags |= __EIF_AUTOHIDE;
    else
        m_nInteractionFlags &= BYTE(~__EIF_AUTOHIDE);
    UpdateOleControlContainerFlags(pSite);
    if (!bRecalc || m_hWnd == NULL)
        return true;
    const BYTE nSaved = m_nInteractionFlags;
    m_nInteractionFlags &= BYTE(~__EIF_AUTOHIDE);
    {
        VisibilitySyncScope _marker(pSite);
        OnBarVisibilityChanged();
    }
    m_nInteractionFlags = BYTE((m_nInteractionFlags & ~__EIF_AUTOHIDE) | (nSaved & __EIF_AUTOHIDE));
    if (pSite->GetSafeHwnd() != NULL)
        pSite->RecalcLayout();
    if (m_hWnd != NULL && !AutoHideModeGet())
    {
        LayoutNcAreaButtons();
        PostMessage(WM_NCPAINT);
        PostMessage(WM_TIMER, 0x1005);
    }
    CExtDynAutoHideSlider::PumpPaintMessages();
    return true;
}
