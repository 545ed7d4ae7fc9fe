// Docking operations of a resizable bar: splitting another bar's place, floating,
// docking beside a bar, into a frame side or into a tabbed group, and in and out of
// auto-hide. Each operation re-parents windows with the re-parenting bit set (so the
// bars' own size handlers keep quiet), keeps the dock bars' arrays, the bars' dock-bar
// pointers and CBRS_FLOATING in step, recalculates the frames it touched (checking
// each old frame by handle, since windows may go away meanwhile) and refreshes the
// frames' OLE-control-container flags.
#include "toolkit/bars/control_bar.h"
#include "framework/afxres.h"
#include "toolkit/bars/dyn_control_bar.h"
#include "toolkit/bars/dyn_tab_control_bar.h"
#include "toolkit/menus/popup_menu_wnd.h"

CMap<UINT, UINT, DWORD, DWORD> CExtControlBar::g_DockBarAlignments(10);
CExtControlBar* CExtControlBar::g_pBarBeingFloated = NULL;
CMap<const CFrameWnd*, const CFrameWnd*, int, int> CExtControlBar::g_mapSitesInVisibilitySync(10);

namespace {

struct DockBarAlignmentsInit
{
    DockBarAlignmentsInit()
    {
        CExtControlBar::g_DockBarAlignments.SetAt(AFX_IDW_DOCKBAR_TOP, CBRS_ALIGN_TOP | CBRS_BORDER_BOTTOM);
        CExtControlBar::g_DockBarAlignments.SetAt(AFX_IDW_DOCKBAR_BOTTOM, CBRS_ALIGN_BOTTOM | CBRS_BORDER_TOP);
        CExtControlBar::g_DockBarAlignments.SetAt(AFX_IDW_DOCKBAR_LEFT, CBRS_ALIGN_LEFT | CBRS_BORDER_RIGHT);
        CExtControlBar::g_DockBarAlignments.SetAt(AFX_IDW_DOCKBAR_RIGHT, CBRS_ALIGN_RIGHT | CBRS_BORDER_LEFT);
    }
} g_dockBarAlignmentsInit;

bool IsTabDockBar(const CWnd* pWnd) { return pWnd != NULL && pWnd->IsKindOf(RUNTIME_CLASS(CExtDockDynTabBar)); }

// The tabbed group a page belongs to, else the bar itself.
CExtControlBar* GroupOrBar(CExtControlBar* pBar)
{
    CExtDynTabControlBar* pGroup = pBar != NULL ? pBar->GetTabbedContainer() : NULL;
    return pGroup != NULL ? pGroup : pBar;
}

HWND FrameHwnd(CWnd* pWnd)
{
    CFrameWnd* pFrame = pWnd != NULL && pWnd->m_hWnd != NULL ? pWnd->GetParentFrame() : NULL;
    return pFrame != NULL ? pFrame->m_hWnd : NULL;
}

// A frame dock bar that lost a bar, found again by handle since it may be gone.
void UpdateNestedLayoutsOf(HWND hWndDockBar)
{
    if (!::IsWindow(hWndDockBar))
        return;
    CExtDockBar* pDockBar = DYNAMIC_DOWNCAST(CExtDockBar, CWnd::FromHandlePermanent(hWndDockBar));
    if (pDockBar != NULL)
    {
        pDockBar->UpdateNestedLayout();
        pDockBar->UpdateNestedLayout2();
    }
}

}  // namespace

// ---- helpers ---------------------------------------------------------------------------

void CExtControlBar::DetachFromDockBar(CControlBar* pBar, CDockBar* pDockBar)
{
    if (pBar == NULL || pDockBar == NULL)
        return;
    // A page leaving its group takes its tab along.
    CExtDynTabControlBar* pGroup =
        IsTabDockBar(pDockBar) ? DYNAMIC_DOWNCAST(CExtDynTabControlBar, pDockBar->GetParent()) : NULL;
    if (pGroup != NULL && pBar != pGroup)
        pGroup->RemoveBarTab(DYNAMIC_DOWNCAST(CExtControlBar, pBar));
    CExtDockBar* pExt = DYNAMIC_DOWNCAST(CExtDockBar, pDockBar);
    if (pExt != NULL && !pExt->m_bFloating)
        pExt->RemoveControlBar(pBar, -1, 0, false);
    else
        pDockBar->RemoveControlBar(pBar, -1, FALSE);
}

void CExtControlBar::RecalcFrameOf(HWND hWndFrame, bool bNow)
{
    if (hWndFrame == NULL || !::IsWindow(hWndFrame))
        return;
    CFrameWnd* pFrame = DYNAMIC_DOWNCAST(CFrameWnd, CWnd::FromHandlePermanent(hWndFrame));
    if (pFrame == NULL)
        return;
    if (bNow && !IsDockSiteInVisibilitySync(pFrame))
        pFrame->RecalcLayout(TRUE);
    else
        pFrame->m_nIdleFlags |= CFrameWnd::idleLayout | CFrameWnd::idleNotify;
}

bool CExtControlBar::CanBeDockedBeside(const CExtControlBar*) const { return true; }

bool CExtControlBar::AcceptsAsTabMate(const CExtControlBar* pBar) const
{
    return pBar != NULL && IsTabMateAllowed(pBar) && pBar->IsTabMateAllowed(this);
}

bool CExtControlBar::IsDockSiteInVisibilitySync(const CFrameWnd* pFrame)
{
    int n = 0;
    return pFrame != NULL && g_mapSitesInVisibilitySync.Lookup(pFrame, n) && n != 0;
}

CExtControlBar::VisibilitySyncScope::VisibilitySyncScope(const CFrameWnd* pSite) : m_pSite(pSite)
{
    if (m_pSite == NULL)
        return;
    int n = 0;
    g_mapSitesInVisibilitySync.Lookup(m_pSite, n);
    g_mapSitesInVisibilitySync.SetAt(m_pSite, n + 1);
}

CExtControlBar::VisibilitySyncScope::~VisibilitySyncScope()
{
    int n = 0;
    if (m_pSite == NULL || !g_mapSitesInVisibilitySync.Lookup(m_pSite, n))
        return;
    if (n <= 1)
        g_mapSitesInVisibilitySync.RemoveKey(m_pSite);
    else
        g_mapSitesInVisibilitySync.SetAt(m_pSite, n - 1);
}

CExtDynTabControlBar* CExtControlBar::GetTabbedContainer() const
{
    if (m_hWnd == NULL || m_pDockBar == NULL || !IsTabDockBar(m_pDockBar))
        return NULL;
    return DYNAMIC_DOWNCAST(CExtDynTabControlBar, m_pDockBar->GetParent());
}

// ---- splitting a bar's place -------------------------------------------------------------

BOOL CExtControlBar::ApplyDock(CExtControlBar* pBar, UINT nDockBarID, UINT nPercent)
{
    if (pBar == NULL || pBar == this || m_hWnd == NULL || pBar->m_hWnd == NULL || m_pDockBar == NULL ||
        m_pDockBar->m_hWnd == NULL || m_pDockSite == NULL)
        return FALSE;
    CDockBar* pOwnDockBar = m_pDockBar;
    CDockBar* pIncomingDockBar = pBar->m_pDockBar;
    const HWND hWndIncomingOldDock =
        pIncomingDockBar != NULL && pIncomingDockBar != pOwnDockBar ? pIncomingDockBar->m_hWnd : NULL;
    CRect rcPlace;
    GetWindowRect(&rcPlace);
    pOwnDockBar->ScreenToClient(&rcPlace);
    CRect rcOwn(rcPlace), rcIncoming(rcPlace);
    UINT nContainerID = AFX_IDW_DOCKBAR_LEFT;
    bool bIncomingFirst = true;
    switch (nDockBarID)
    {
    case AFX_IDW_DOCKBAR_TOP:
        rcOwn.top += ::MulDiv(rcPlace.Height(), int(nPercent), 100);
        rcIncoming.bottom = rcOwn.top;
        break;
    case AFX_IDW_DOCKBAR_BOTTOM:
        rcOwn.bottom -= ::MulDiv(rcPlace.Height(), int(nPercent), 100);
        rcIncoming.top = rcOwn.bottom;
        bIncomingFirst = false;
        break;
    case AFX_IDW_DOCKBAR_LEFT:
        rcOwn.left += ::MulDiv(rcPlace.Width(), int(nPercent), 100);
        rcIncoming.right = rcOwn.left;
        nContainerID = AFX_IDW_DOCKBAR_TOP;
        break;
    case AFX_IDW_DOCKBAR_RIGHT:
        rcOwn.right -= ::MulDiv(rcPlace.Width(), int(nPercent), 100);
        rcIncoming.left = rcOwn.right;
        nContainerID = AFX_IDW_DOCKBAR_TOP;
        bIncomingFirst = false;
        break;
    default:
        return FALSE;
    }

    CExtDynControlBar* pContainer = new CExtDynControlBar;
    pContainer->m_sizeDockedH = m_sizeDockedH;
    pContainer->m_sizeDockedV = m_sizeDockedV;
    pContainer->m_sizeFloated = m_sizeFloated;
    const DWORD dwStyle = ((GetStyle() | (m_dwStyle & CBRS_ALIGN_ANY)) & ~(CBRS_GRIPPER | CBRS_FLOATING)) |
                          CBRS_BORDER_ANY | CBRS_TOOLTIPS;
    if (!pContainer->Create(NULL, m_pDockSite, nContainerID, dwStyle))
    {
        delete pContainer;
        return FALSE;
    }
    PutContainerInOwnPlace(pContainer, pOwnDockBar);
    CExtDockDynBar* pInner = pContainer->m_pWndDynDocker;
    pBar->m_dwStyle &= ~CBRS_FLOATING;

    m_nActivityFlags |= __EAF_SYNC_GUARD;
    pContainer->m_nActivityFlags |= __EAF_SYNC_GUARD;
    pBar->m_nActivityFlags |= __EAF_SYNC_GUARD;
    pContainer->SetParent(pOwnDockBar);
    SetParent(pInner);
    pBar->SetParent(pInner);
    if (pIncomingDockBar != NULL && pIncomingDockBar != pInner)
        DetachFromDockBar(pBar, pIncomingDockBar);
    m_pDockBar = pInner;
    pBar->m_pDockBar = pInner;
    pBar->m_pDockSite = m_pDockSite;
    pInner->m_arrBars.RemoveAll();
    pInner->m_arrBars.Add(NULL);
    pInner->m_arrBars.Add(bIncomingFirst ? static_cast<CControlBar*>(pBar) : this);
    pInner->m_arrBars.Add(bIncomingFirst ? static_cast<CControlBar*>(this) : pBar);
    pInner->m_arrBars.Add(NULL);

    m_sizeDockedH = m_sizeDockedV = rcOwn.Size();
    pBar->m_sizeDockedH = pBar->m_sizeDockedV = rcIncoming.Size();
    const CPoint ptOrigin = rcPlace.TopLeft();
    rcOwn.OffsetRect(-ptOrigin);
    rcIncoming.OffsetRect(-ptOrigin);
    SetWindowPos(NULL, rcOwn.left, rcOwn.top, rcOwn.Width(), rcOwn.Height(),
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
    pBar->SetWindowPos(NULL, rcIncoming.left, rcIncoming.top, rcIncoming.Width(), rcIncoming.Height(),
                       SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
    pContainer->m_sizeFloated = rcPlace.Size();
    pContainer->SetWindowPos(NULL, rcPlace.left, rcPlace.top, rcPlace.Width(), rcPlace.Height(),
                             SWP_NOZORDER | SWP_NOACTIVATE);

    m_nActivityFlags &= ~__EAF_SYNC_GUARD;
    pContainer->m_nActivityFlags &= ~__EAF_SYNC_GUARD;
    pBar->m_nActivityFlags &= ~__EAF_SYNC_GUARD;
    CExtDockBar::RemoveEmptyRings(m_pDockSite);
    CFrameWnd* pParentFrame = pContainer->GetParentFrame();
    if (pParentFrame != NULL)
    {
        pParentFrame->RecalcLayout(TRUE);
        pContainer->ResizeContentWindow(-1, -1, true);
        pContainer->CreateNcAreaButtons();
        pContainer->LayoutNcAreaButtons();
        if (pInner->m_hWnd != NULL)
            pInner->UpdateNestedLayout();
    }
    if (::IsWindow(hWndIncomingOldDock))
    {
        CExtDockBar* pIncomingOldDock = DYNAMIC_DOWNCAST(CExtDockBar, CWnd::FromHandlePermanent(hWndIncomingOldDock));
        if (pIncomingOldDock != NULL && !pIncomingOldDock->m_bFloating)
            pIncomingOldDock->UpdateNestedLayout2();
    }
    // The flags' answer says whether an OLE control is hosted, not whether docking worked.
    UpdateOleControlContainerFlags(m_pDockSite);
    return TRUE;
}

// ---- floating ------------------------------------------------------------------------------

BOOL CExtControlBar::FloatControlBar(int x, int y, DWORD dwStyle)
{
    if (m_hWnd == NULL || m_pDockSite == NULL || m_pDockSite->m_hWnd == NULL)
        return FALSE;
    struct FloatScope
    {
        explicit FloatScope(CExtControlBar* p) { g_pBarBeingFloated = p; }
        ~FloatScope() { g_pBarBeingFloated = NULL; }
    } scope(this);
    CFrameWnd* pDockSite = m_pDockSite;

    if (m_pDockBar != NULL && m_pDockBar->m_bFloating && m_pDockBar->GetDockedCount() == 1 &&
        m_pDockBar->FindBar(this) > 0)
    {
        CFrameWnd* pMini = m_pDockBar->GetParentFrame();
        if (pMini == NULL)
            return FALSE;
        CRect rcBar;
        GetWindowRect(&rcBar);
        RECT rcNew = {x, y, x + rcBar.Width(), y + rcBar.Height()};
        pMini->SendMessage(CExtPopupMenuWnd::g_nMsgCustomFloatPos, (WPARAM)pMini->m_hWnd, (LPARAM)&rcNew);
        const BOOL bMoved = pMini->SetWindowPos(NULL, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        m_ptFloatPos = CPoint(x, y);
        return bMoved;
    }

    CExtDynTabControlBar* pGroup = IsTabDockBar(GetParent()) ? GetTabbedContainer() : NULL;
    if (pGroup != NULL)
        pGroup->RemoveBarTab(this);

    if ((m_dwStyle & CBRS_SIZE_DYNAMIC) != 0)
    {
        dwStyle |= CBRS_SIZE_DYNAMIC;
        if ((dwStyle & (CBRS_ALIGN_LEFT | CBRS_ALIGN_RIGHT)) != 0)
            dwStyle = (dwStyle & ~DWORD(0xD000)) | CBRS_ALIGN_TOP | CBRS_SIZE_DYNAMIC;
    }

    CDockBar* pOldDockBar = m_pDockBar;
    const bool bOldWasFrameDockBar =
        pOldDockBar != NULL && !pOldDockBar->m_bFloating && pOldDockBar->IsKindOf(RUNTIME_CLASS(CExtDockBar));
    const HWND hWndOldDockBar = pOldDockBar != NULL ? pOldDockBar->m_hWnd : NULL;
    const HWND hWndOldFrame = FrameHwnd(this);
    const bool bOldFrameIsMini =
        hWndOldFrame != NULL && GetParentFrame()->IsKindOf(RUNTIME_CLASS(CExtMiniDockFrameWnd));

    CExtMiniDockFrameWnd* pMini = CreateFloatingFrame(dwStyle);
    if (pMini == NULL)
        return FALSE;
    pMini->SetWindowPos(NULL, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    if (::GetWindow(pMini->m_hWnd, GW_OWNER) == NULL)
        ::SetWindowLongPtr(pMini->m_hWnd, GWLP_HWNDPARENT, (LONG_PTR)pDockSite->m_hWnd);
    CExtDockBar* pFloatDock = DYNAMIC_DOWNCAST(CExtDockBar, pMini->GetDlgItem(AFX_IDW_DOCKBAR_FLOAT));
    m_nActivityFlags |= __EAF_SYNC_GUARD;
    if (pFloatDock != NULL)
        pFloatDock->DockControlBar(this, NULL, false);
    else
    {
        CDockBar* pPlain = DYNAMIC_DOWNCAST(CDockBar, pMini->GetDlgItem(AFX_IDW_DOCKBAR_FLOAT));
        if (pPlain != NULL)
            pPlain->DockControlBar(this, NULL);
    }
    m_nActivityFlags &= ~__EAF_SYNC_GUARD;
    pMini->RecalcLayout(TRUE);
    if ((GetStyle() & WS_VISIBLE) != 0)
    {
        pMini->ShowWindow(SW_SHOWNA);
        pMini->UpdateWindow();
    }

    m_ptFloatPos = CPoint(x, y);
    if (bOldWasFrameDockBar)
        UpdateNestedLayoutsOf(hWndOldDockBar);
    if (hWndOldFrame != NULL && hWndOldFrame != pDockSite->m_hWnd)
        RecalcFrameOf(hWndOldFrame, bOldFrameIsMini);
    if (!::IsWindow(pDockSite->m_hWnd))
        return FALSE;
    if (!IsFixedDockStyle() && m_hWnd != NULL)
        CExtDockBar::FindPlaceholderInFrame(pDockSite, UINT(WORD(GetDlgCtrlID())), NULL);
    CExtDockBar::RemoveEmptyRings(pDockSite);
    pDockSite->RecalcLayout(TRUE);
    if (m_hWnd != NULL)
        ResizeContentWindow(-1, -1, true);
    UpdateOleControlContainerFlags(pDockSite);
    return TRUE;
}

// ---- docking beside another bar ------------------------------------------------------------

BOOL CExtControlBar::DockNextToPercent(UINT nPercent, CExtControlBar* pTarget, UINT nDockBarID, bool)
{
    if (pTarget == NULL || pTarget == this || m_hWnd == NULL || pTarget->m_hWnd == NULL)
        return FALSE;
    CFrameWnd* pOwnFrame = GetParentFrame();
    if (pOwnFrame != NULL && pOwnFrame->IsKindOf(RUNTIME_CLASS(CExtMiniDockFrameWnd)) &&
        GetDraggedBar() == this && QueryDockMarkerStyle() == 1)
        pOwnFrame->ShowWindow(SW_HIDE);
    CExtControlBar* pT = GroupOrBar(pTarget);
    if (pT == this)
        return FALSE;
    const HWND hWndTargetSite = pT->m_pDockSite != NULL ? pT->m_pDockSite->m_hWnd : NULL;
    const HWND hWndOldFrame = (pOwnFrame != NULL && pOwnFrame->m_hWnd != hWndTargetSite) ? pOwnFrame->m_hWnd : NULL;
    const HWND hWndT = pT->m_hWnd;
    const BOOL bDocked = pT->ApplyDock(this, nDockBarID, nPercent);
    if (::IsWindow(hWndT))
    {
        RecalcFrameOf(FrameHwnd(pT), true);
    }
    RecalcFrameOf(hWndOldFrame, true);
    if (::IsWindow(hWndT))
        RecalcFrameOf(hWndTargetSite, true);
    if (m_pDockSite != NULL)
        UpdateOleControlContainerFlags(m_pDockSite);
    return bDocked ? TRUE : FALSE;
}

bool CExtControlBar::DockNextTo(CExtControlBar* pTarget, UINT nDockBarID, bool bRecalc)
{
    return DockNextToPercent(50, pTarget, nDockBarID, bRecalc) != FALSE;
}

BOOL CExtControlBar::DockBesideBar(CExtControlBar* pBar, bool bAlongDockBar, bool bLeading, CFrameWnd* pFrame,
                                   bool bRecalc)
{
    if (pBar == NULL || pBar == this || m_hWnd == NULL || pBar->m_hWnd == NULL)
        return FALSE;
    CExtDynTabControlBar* pGroup = IsTabDockBar(m_pDockBar) ? GetTabbedContainer() : NULL;
    if (pGroup != NULL && pGroup != this)
        return pGroup->DockBesideBar(pBar, bAlongDockBar, bLeading, pFrame, bRecalc);
    if (pFrame == NULL)
        pFrame = m_pDockSite;
    // The kind (1 above, 2 below, 3 left, 4 right of this bar) follows from where this
    // bar lies; across the dock bar, leading means towards the frame's client area.
    struct SideRule
    {
        UINT nDockBarID;
        int nAlongLeading, nAlongTrailing, nAcrossLeading, nAcrossTrailing;
        bool bPartAlong, bPartAcross;
    };
    static const SideRule kRules[] = {
        {AFX_IDW_DOCKBAR_TOP, 3, 4, 2, 1, true, false},    {AFX_IDW_DOCKBAR_BOTTOM, 3, 4, 1, 2, true, false},
        {AFX_IDW_DOCKBAR_LEFT, 1, 2, 4, 3, false, true},   {AFX_IDW_DOCKBAR_RIGHT, 1, 2, 3, 4, false, true},
        {AFX_IDW_DOCKBAR_FLOAT, 1, 2, 3, 4, true, true},
    };
    const UINT nID = GetDockBarCtrlID();
    const SideRule* pRule = &kRules[4];
    for (const SideRule& r : kRules)
        if (r.nDockBarID == nID)
            pRule = &r;
    InternalDraggingState_t state;
    state.m_pBarSrc = pBar;
    state.SetTargetBar(this, true);
    state.SetEmpty(false);
    GetWindowRect(&state.m_rcTrack);
    state.m_nKind = bAlongDockBar ? (bLeading ? pRule->nAlongLeading : pRule->nAlongTrailing)
                                  : (bLeading ? pRule->nAcrossLeading : pRule->nAcrossTrailing);
    state.SetPartOfTarget(bAlongDockBar ? pRule->bPartAlong : pRule->bPartAcross);
    const BOOL bResult = ApplyDraggingState(state, true) ? TRUE : FALSE;
    if (pFrame != NULL && ::IsWindow(pFrame->m_hWnd))
    {
        RecalcFrameOf(pFrame->m_hWnd, bRecalc);
        UpdateOleControlContainerFlags(pFrame);
    }
    return bResult;
}

// ---- docking into a frame side --------------------------------------------------------------

bool CExtControlBar::DockAtFrameSide(UINT nDockBarID, bool bUseRing, CFrameWnd* pFrame, bool bRecalc)
{
    if (pFrame == NULL)
        pFrame = m_pDockSite;
    if (pFrame == NULL || m_hWnd == NULL)
        return false;
    CFrameWnd* pMini = GetParentFrame();
    if (pMini != NULL && pMini != pFrame && pMini->IsKindOf(RUNTIME_CLASS(CExtMiniDockFrameWnd)))
        pMini->ShowWindow(SW_HIDE);
    CExtDockBar::InsertRing(pFrame, 1);
    UINT nRing = 1;
    if (bUseRing)
        nRing = CExtDockBar::CreateInnerRing(pFrame);
    if (nRing == 0)
        return false;
    return DockIntoDockBar(nDockBarID, nRing, pFrame, bRecalc) != FALSE;
}

BOOL CExtControlBar::DockIntoDockBar(UINT nDockBarID, UINT nRing, CFrameWnd* pFrame, bool bRecalc)
{
    if (pFrame == NULL)
        pFrame = m_pDockSite;
    if (pFrame == NULL || m_hWnd == NULL)
        return FALSE;
    CExtDockBar* pDock = DYNAMIC_DOWNCAST(CExtDockBar, pFrame->GetControlBar(nDockBarID));
    if (pDock != NULL && nRing != 0)
        pDock = pDock->GetRingDockBar(nRing);
    if (pDock == NULL)
        return FALSE;
    // A page leaving its group takes its tab with it.
    CExtDynTabControlBar* pGroup = IsTabDockBar(GetParent()) ? GetTabbedContainer() : NULL;
    if (pGroup != NULL)
        pGroup->RemoveBarTab(this);
    // The bar comes in with the docked size it had on that kind of side.
    const bool bHorzSide = nDockBarID == AFX_IDW_DOCKBAR_TOP || nDockBarID == AFX_IDW_DOCKBAR_BOTTOM;
    const CSize size = bHorzSide ? m_sizeDockedH : m_sizeDockedV;
    if (!IsFixedMode())
        SetWindowPos(NULL, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    pDock->DockControlBar(this, NULL, false);
    if (bRecalc && ::IsWindow(pFrame->m_hWnd))
        pFrame->RecalcLayout(TRUE);
    UpdateOleControlContainerFlags(pFrame);
    return TRUE;
}

// ---- docking into a tabbed group -------------------------------------------------------------

BOOL CExtControlBar::DockIntoTabbedBar(CExtControlBar* pBar, int nIndex, CFrameWnd* pFrame, bool bRecalc)
{
    if (pBar == NULL || pBar == this || m_hWnd == NULL || pBar->m_hWnd == NULL)
        return FALSE;
    if (!AcceptsAsTabMate(pBar) || IsFixedMode() || IsFixedDockStyle() || pBar->IsFixedMode() ||
        pBar->IsFixedDockStyle())
        return FALSE;
    if (pFrame == NULL)
        pFrame = m_pDockSite;

    CExtDynTabControlBar* pGroupThis = DYNAMIC_DOWNCAST(CExtDynTabControlBar, this);
    if (pGroupThis != NULL)
        return AddPagesToThisGroup(pGroupThis, pBar, nIndex, bRecalc);

    if (IsTabDockBar(m_pDockBar))
    {
        CExtDynTabControlBar* pGroup = GetTabbedContainer();
        return pGroup != NULL ? pGroup->DockIntoTabbedBar(pBar, nIndex, pFrame, bRecalc) : FALSE;
    }
    if (m_pDockBar == NULL || m_pDockBar->m_hWnd == NULL || m_pDockSite == NULL)
        return FALSE;
    return StartTabbedGroupWith(pBar, pFrame, bRecalc);
}

void CExtControlBar::DestroyEmptiedGroup(CExtDynTabControlBar* pEmptied, CFrameWnd* pSite)
{
    if (pSite != NULL)
    {
        POSITION pos = pSite->m_listControlBars.Find(pEmptied);
        if (pos != NULL)
            pSite->m_listControlBars.RemoveAt(pos);
    }
    CDockBar* pEmptiedDock = pEmptied->m_pDockBar;
    pEmptied->m_pDockBar = NULL;
    if (pEmptiedDock != NULL && pEmptiedDock->m_hWnd != NULL)
        pEmptiedDock->CDockBar::RemoveControlBar(pEmptied, -1, FALSE);
    pEmptied->DestroyWindow();
}

BOOL CExtControlBar::AddPagesToThisGroup(CExtDynTabControlBar* pGroupThis, CExtControlBar* pBar, int nIndex,
                                         bool bRecalc)
{
    const HWND hWndBar = pBar->m_hWnd;
    const bool bBarIsGroup = pBar->IsKindOf(RUNTIME_CLASS(CExtDynTabControlBar));
    const HWND hWndOldFrame = FrameHwnd(pBar);
    const HWND hWndOwnFrame = FrameHwnd(this);
    CFrameWnd* pBarSite = pBar->m_pDockSite;
    m_nActivityFlags |= __EAF_SYNC_GUARD;
    pBar->m_nActivityFlags |= __EAF_SYNC_GUARD;
    if (pBar->m_pDockBar != NULL && hWndOldFrame != hWndOwnFrame)
        RecalcFrameOf(hWndOldFrame, false);
    const int nTabCount = pGroupThis->m_wndTabSwitcher.m_hWnd != NULL ? pGroupThis->m_wndTabSwitcher.ItemGetCount() : 0;
    const int nInsertAt = (nIndex < 0 || nIndex > nTabCount) ? nTabCount : nIndex;
    // The pages that come in: a container brings its bars and may be gone afterwards.
    CArray<CExtControlBar*, CExtControlBar*> arrPages;
    CExtDynTabControlBar::GetPagesBroughtBy(pBar, arrPages);
    pGroupThis->InsertBar(pBar, nInsertAt, true);
    CExtControlBar* pSelect = arrPages.GetSize() > 0 ? arrPages[0] : NULL;
    if (pSelect != NULL && pSelect->m_hWnd != NULL)
        pGroupThis->m_wndTabSwitcher.SelectBar(pSelect);
    ResizeContentWindow(-1, -1, false);
    RecalcFrameOf(FrameHwnd(this), bRecalc);
    if (bBarIsGroup && ::IsWindow(hWndBar))
        DestroyEmptiedGroup(static_cast<CExtDynTabControlBar*>(pBar), pBarSite);  // merged: empty now
    else if (::IsWindow(hWndBar))
        pBar->ResizeContentWindow(-1, -1, false);
    m_nActivityFlags &= ~__EAF_SYNC_GUARD;
    if (::IsWindow(hWndBar) && !bBarIsGroup)
        pBar->m_nActivityFlags &= ~__EAF_SYNC_GUARD;
    if (bRecalc)
    {
        if (m_pDockSite != NULL)
            CExtDockBar::RemoveEmptyRings(m_pDockSite);
        if (hWndOldFrame != hWndOwnFrame)
            RecalcFrameOf(hWndOldFrame, true);
        ResizeContentWindow(-1, -1, true);
    }
    if (LiveWindowObject(hWndBar) == pBar && pBar->m_pDockSite != NULL)
        UpdateOleControlContainerFlags(pBar->m_pDockSite);
    return TRUE;
}

void CExtControlBar::PutContainerInOwnPlace(CExtDynControlBar* pContainer, CDockBar* pDockBar)
{
    pContainer->m_pDockSite = m_pDockSite;
    pContainer->m_pDockBar = pDockBar;
    pContainer->EnableDocking(CBRS_ALIGN_ANY);
    const int nOwnPos = pDockBar->FindBar(this);
    if (nOwnPos > 0)
        pDockBar->m_arrBars[nOwnPos] = pContainer;
    CExtDockDynBar* pInner = pContainer->m_pWndDynDocker;
    pInner->m_bFloating = FALSE;
    if (pDockBar->m_bFloating)
        pContainer->m_dwStyle |= CBRS_FLOATING;
    pInner->m_dwStyle &= ~CBRS_FLOATING;
    m_dwStyle &= ~CBRS_FLOATING;
}

CExtDynTabControlBar* CExtControlBar::CreateGroupInOwnPlace(CFrameWnd* pFrame)
{
    CDockBar* pDockBar = m_pDockBar;
    const DWORD dwBarStyle = m_dwStyle & ~DWORD(CBRS_FLOATING);
    const DWORD dwWndStyle = GetStyle() & ~DWORD(CBRS_FLOATING);
    const UINT nDockBarID = UINT(pDockBar->GetDlgCtrlID());

    // The frame may supply its own kind of group.
    CExtDynTabControlBar* pGroup = NULL;
    CWnd* pHost = pFrame != NULL ? static_cast<CWnd*>(pFrame) : m_pDockSite;
    pHost->SendMessage(g_nMsgCreateTabbedBar, (WPARAM)&pGroup);
    if (pGroup == NULL)
        pGroup = new CExtDynTabControlBar;
    if (!pGroup->Create(NULL, m_pDockSite, nDockBarID,
                        dwWndStyle | (dwBarStyle & CBRS_ALIGN_ANY) | CBRS_GRIPPER | CBRS_BORDER_ANY | CBRS_TOOLTIPS))
    {
        if (pGroup->m_hWnd == NULL)
            delete pGroup;
        return NULL;
    }
    PutContainerInOwnPlace(pGroup, pDockBar);
    m_pDockBar = pGroup->m_pWndDynDocker;
    return pGroup;
}

bool CExtControlBar::MovePagesIntoNewGroup(CExtDynTabControlBar* pGroup, CDockBar* pDockBar, CExtControlBar* pBar,
                                           const CRect& rcPlace)
{
    CExtDockDynBar* pInner = pGroup->m_pWndDynDocker;
    const HWND hWndBar = pBar->m_hWnd;
    m_nActivityFlags |= __EAF_SYNC_GUARD;
    pGroup->m_nActivityFlags |= __EAF_SYNC_GUARD;
    pBar->m_nActivityFlags |= __EAF_SYNC_GUARD;
    pGroup->SetParent(pDockBar);
    SetParent(pInner);
    pInner->m_arrBars.RemoveAll();
    pInner->m_arrBars.Add(NULL);
    pInner->m_arrBars.Add(this);
    pInner->m_arrBars.Add(NULL);
    pGroup->m_sizeDockedH = m_sizeDockedH;
    pGroup->m_sizeDockedV = m_sizeDockedV;
    pGroup->m_sizeFloated = m_sizeFloated;
    pGroup->SetWindowPos(NULL, rcPlace.left, rcPlace.top, rcPlace.Width(), rcPlace.Height(),
                         SWP_NOZORDER | SWP_NOACTIVATE);
    SetWindowPos(NULL, 0, 0, rcPlace.Width(), rcPlace.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
    pGroup->m_wndTabSwitcher.InsertBar(this, -1, false, false);
    pGroup->InsertBar(pBar, -1, false);
    // A container tabbed here dissolves once its bars have left it, and its object goes
    // with its window: only a bar that still lives is touched again.
    const bool bBarAlive = LiveWindowObject(hWndBar) == pBar;
    m_nActivityFlags &= ~__EAF_SYNC_GUARD;
    pGroup->m_nActivityFlags &= ~__EAF_SYNC_GUARD;
    if (bBarAlive)
        pBar->m_nActivityFlags &= ~__EAF_SYNC_GUARD;
    return bBarAlive;
}

void CExtControlBar::LayoutNewGroup(CExtDynTabControlBar* pGroup, bool bRecalc)
{
    CFrameWnd* pGroupFrame = pGroup->GetParentFrame();
    const bool bInMini = pGroupFrame != NULL && pGroupFrame->IsKindOf(RUNTIME_CLASS(CMiniFrameWnd));
    if (!bInMini && !bRecalc)
        return;
    pGroup->CreateNcAreaButtons();
    pGroup->LayoutNcAreaButtons();
    if (pGroupFrame != NULL)
        RecalcFrameOf(pGroupFrame->m_hWnd, pGroupFrame->IsKindOf(RUNTIME_CLASS(CExtMiniDockFrameWnd)));
    if (bInMini)
        RecalcFrameOf(m_pDockSite->m_hWnd, false);
    if (bRecalc && ::IsWindow(m_pDockSite->m_hWnd))
        m_pDockSite->RecalcLayout(TRUE);
    pGroup->ResizeContentWindow(-1, -1, true);
}

BOOL CExtControlBar::StartTabbedGroupWith(CExtControlBar* pBar, CFrameWnd* pFrame, bool bRecalc)
{
    // What pBar leaves is noted by handle: its old dock bar and frame may be gone later.
    CDockBar* pBarOldDock = pBar->m_pDockBar;
    const bool bBarOldDockIsExt = pBarOldDock != NULL && pBarOldDock->IsKindOf(RUNTIME_CLASS(CExtDockBar));
    const HWND hWndBarOldDock = pBarOldDock != NULL ? pBarOldDock->m_hWnd : NULL;
    const HWND hWndBarOldFrame = FrameHwnd(pBar);
    CDockBar* pDockBar = m_pDockBar;
    CRect rcPlace;
    GetWindowRect(&rcPlace);
    pDockBar->ScreenToClient(&rcPlace);

    // This bar becomes the first page of a new group that takes its place.
    CExtDynTabControlBar* pGroup = CreateGroupInOwnPlace(pFrame);
    if (pGroup == NULL)
        return FALSE;
    CExtDockDynBar* pInner = pGroup->m_pWndDynDocker;
    const bool bBarAlive = MovePagesIntoNewGroup(pGroup, pDockBar, pBar, rcPlace);

    if (bBarOldDockIsExt)
        UpdateNestedLayoutsOf(hWndBarOldDock);
    CExtDockBar::FindPlaceholderInFrame(m_pDockSite, UINT(WORD(GetDlgCtrlID())), NULL);
    if (bBarAlive)
        CExtDockBar::FindPlaceholderInFrame(m_pDockSite, UINT(WORD(pBar->GetDlgCtrlID())), NULL);
    CExtDockBar::RemoveEmptyRings(m_pDockSite);
    if (pInner->m_hWnd != NULL)
        static_cast<CExtDockDynTabBar*>(pInner)->StackPages(NULL, true);
    pGroup->m_wndTabSwitcher.SelectionSet(0, true, true);
    RecalcFrameOf(hWndBarOldFrame != m_pDockSite->m_hWnd ? hWndBarOldFrame : NULL, false);
    LayoutNewGroup(pGroup, bRecalc);
    UpdateOleControlContainerFlags(m_pDockSite);
    return TRUE;
}
