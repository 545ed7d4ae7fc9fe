// The auto-hide area: one tab strip per frame side whose tabs stand for the bars pinned
// away on that side. Selecting a tab slides its bar out through the frame's slider; the
// strip keeps the corners free for the vertical strips and pushes its side's dock bars
// inwards by its own thickness.
#include "toolkit/bars/auto_hide.h"
#include "toolkit/bars/dyn_tab_control_bar.h"
#include "framework/miniframe.h"
#include "toolkit/core/cmd_manager.h"
#include "toolkit/menus/popup_menu_wnd.h"

IMPLEMENT_DYNAMIC(CExtDynAutoHideArea, CExtTabWnd)

namespace {

const UINT kAreaIds[4] = {AFX_IDW_DOCKBAR_TOP, AFX_IDW_DOCKBAR_BOTTOM, AFX_IDW_DOCKBAR_LEFT, AFX_IDW_DOCKBAR_RIGHT};

// A frame in which areas live: a mini frame stands for its own parent frame.
CFrameWnd* AreaFrameOf(HWND hWnd)
{
    if (hWnd == NULL || !::IsWindow(hWnd))
        return NULL;
    CWnd* pWnd = CWnd::FromHandle(hWnd);
    CFrameWnd* pFrame = pWnd->IsKindOf(RUNTIME_CLASS(CFrameWnd)) ? static_cast<CFrameWnd*>(pWnd) : pWnd->GetParentFrame();
    if (pFrame != NULL && pFrame->IsKindOf(RUNTIME_CLASS(CMiniFrameWnd)))
        pFrame = pFrame->GetParentFrame();
    return pFrame;
}

bool HasIcon(HWND hWndProfile, UINT nCmdID)
{
    LPCTSTR sProfile = g_CommandManager->ProfileNameFromWnd(hWndProfile);
    CExtCmdIcon* pIcon = sProfile != NULL ? g_CommandManager->CmdGetIconPtr(sProfile, nCmdID) : NULL;
    return pIcon != NULL && !pIcon->IsEmpty();
}

bool IsTabbedGroup(const CObject* pBar) { return CExtPaintManagerHolder::IsKindOfByName(pBar, "CExtDynTabControlBar"); }

}  // namespace

// ---- the drop target ------------------------------------------------------------------

DROPEFFECT CExtDynAutoHideArea::CDynDropTarget::OnDragEnter(CWnd* pWnd, COleDataObject* pDataObject,
                                                            DWORD dwKeyState, CPoint point)
{
    return OnDragOver(pWnd, pDataObject, dwKeyState, point);
}

DROPEFFECT CExtDynAutoHideArea::CDynDropTarget::OnDragOver(CWnd*, COleDataObject*, DWORD, CPoint point)
{
    if (m_pArea == NULL || m_pArea->GetSafeHwnd() == NULL)
        return DROPEFFECT_NONE;
    CFrameWnd* pFrame = m_pArea->GetAreaFrame();
    CExtControlBar* pBar = m_pArea->ItemBar(m_pArea->ItemHitTest(point));
    if (pBar != NULL && !pBar->IsCustomizeModeActive() && pFrame != NULL)
    {
        const int nHit = m_pArea->ItemHitTest(point);
        if (nHit != m_pArea->SelectionGet())
            m_pArea->SelectionSet(nHit, true, true);
    }
    return DROPEFFECT_NONE;
}

// ---- construction and creation --------------------------------------------------------

CExtDynAutoHideArea::CExtDynAutoHideArea()
    : m_oleDropTarget(this), m_pWndSlider(NULL), m_nBusyFlags(0), m_nKeyboardFlags(0), m_bDeleteWithWindow(false)
{
    ::SetRectEmpty(&m_rcLastWnd);
}

CExtDynAutoHideArea::~CExtDynAutoHideArea() {}

void CExtDynAutoHideArea::PostNcDestroy()
{
    CExtTabWnd::PostNcDestroy();
    if (m_bDeleteWithWindow)
        delete this;
}

CFrameWnd* CExtDynAutoHideArea::GetAreaFrame() const { return AreaFrameOf(m_hWnd); }

bool CExtDynAutoHideArea::Create(CFrameWnd* pFrame, CExtDynAutoHideSlider* pSlider, UINT nDockBarID)
{
    if (pFrame == NULL || pFrame->GetSafeHwnd() == NULL)
        return false;
    m_pWndSlider = pSlider;
    DWORD dwOrientation = __ETWS_ORIENT_TOP;
    if (nDockBarID == AFX_IDW_DOCKBAR_LEFT)
        dwOrientation = __ETWS_ORIENT_LEFT;
    else if (nDockBarID == AFX_IDW_DOCKBAR_RIGHT)
        dwOrientation = __ETWS_ORIENT_RIGHT;
    else if (nDockBarID == AFX_IDW_DOCKBAR_BOTTOM)
        dwOrientation = __ETWS_ORIENT_BOTTOM;
    if (!CExtTabWnd::Create(pFrame, CRect(0, 0, 0, 0), nDockBarID, WS_CHILD | WS_VISIBLE, dwOrientation | 0xC080))
        return false;
    ModifyStyleEx(0x00402000, 0, SWP_FRAMECHANGED);
    for (HWND hWnd = ::GetWindow(pFrame->m_hWnd, GW_CHILD); hWnd != NULL; hWnd = ::GetWindow(hWnd, GW_HWNDNEXT))
    {
        if (UINT(::GetDlgCtrlID(hWnd)) != nDockBarID)
            continue;
        CExtDockBar* pDockBar = DYNAMIC_DOWNCAST(CExtDockBar, CWnd::FromHandlePermanent(hWnd));
        if (pDockBar != NULL)
            pDockBar->SetAutoHideArea(this);
    }
    ArrangeZOrder(pFrame);
    if (CExtControlBar::g_bAutoHideOleDragOver)
        m_oleDropTarget.Register(this);  // fails quietly while OLE is not initialised
    return true;
}

bool CExtDynAutoHideArea::CreateFrameAreas(CFrameWnd* pFrame)
{
    if (pFrame == NULL || pFrame->GetSafeHwnd() == NULL)
        return false;
    CExtDynAutoHideSlider* pSlider = new CExtDynAutoHideSlider;
    if (!pSlider->Create(pFrame))
    {
        delete pSlider;
        return false;
    }
    pSlider->m_bDeleteWithWindow = true;
    for (UINT nID : kAreaIds)
    {
        CExtDynAutoHideArea* pArea = new CExtDynAutoHideArea;
        if (!pArea->Create(pFrame, pSlider, nID))
        {
            delete pArea;
            return false;
        }
        pArea->m_bDeleteWithWindow = true;
    }
    return true;
}

void CExtDynAutoHideArea::ArrangeZOrder(CFrameWnd* pFrame)
{
    if (pFrame == NULL || pFrame->GetSafeHwnd() == NULL)
        return;
    CExtDynAutoHideArea *pTop, *pBottom, *pLeft, *pRight;
    FindAreas(pFrame->m_hWnd, &pTop, &pBottom, &pLeft, &pRight);
    CControlBar* pRightDockBar = pFrame->GetControlBar(AFX_IDW_DOCKBAR_RIGHT);
    HWND hWndAfter = pRightDockBar != NULL ? pRightDockBar->GetSafeHwnd() : NULL;
    for (CExtDynAutoHideArea* pArea : {pTop, pBottom, pLeft, pRight})
    {
        if (pArea == NULL)
            continue;
        if (hWndAfter != NULL && ::GetWindow(hWndAfter, GW_HWNDNEXT) != pArea->m_hWnd)
            ::SetWindowPos(pArea->m_hWnd, hWndAfter, 0, 0, 0, 0,
                           SWP_NOSIZE | SWP_NOMOVE | SWP_NOREDRAW | SWP_NOACTIVATE | SWP_NOOWNERZORDER |
                               SWP_NOSENDCHANGING);
        hWndAfter = pArea->m_hWnd;
    }
}

// ---- finding areas ----------------------------------------------------------------------

void CExtDynAutoHideArea::FindAreas(HWND hWnd, CExtDynAutoHideArea** ppTop, CExtDynAutoHideArea** ppBottom,
                                    CExtDynAutoHideArea** ppLeft, CExtDynAutoHideArea** ppRight)
{
    CExtDynAutoHideArea** arrOut[4] = {ppTop, ppBottom, ppLeft, ppRight};
    for (CExtDynAutoHideArea** pp : arrOut)
        if (pp != NULL)
            *pp = NULL;
    CFrameWnd* pFrame = AreaFrameOf(hWnd);
    if (pFrame == NULL)
        return;
    for (HWND hChild = ::GetWindow(pFrame->m_hWnd, GW_CHILD); hChild != NULL; hChild = ::GetWindow(hChild, GW_HWNDNEXT))
    {
        const UINT nID = UINT(::GetDlgCtrlID(hChild));
        for (int i = 0; i < 4; i++)
        {
            if (nID != kAreaIds[i] || arrOut[i] == NULL || *arrOut[i] != NULL)
                continue;
            CExtDynAutoHideArea* pArea = DYNAMIC_DOWNCAST(CExtDynAutoHideArea, CWnd::FromHandlePermanent(hChild));
            if (pArea != NULL)
                *arrOut[i] = pArea;
        }
    }
}

CExtDynAutoHideArea* CExtDynAutoHideArea::FindBarArea(CExtControlBar* pBar, int* pnIndex)
{
    if (pnIndex != NULL)
        *pnIndex = -1;
    if (pBar == NULL || pBar->GetSafeHwnd() == NULL)
        return NULL;
    CFrameWnd* pFrame = pBar->m_pDockSite != NULL ? pBar->m_pDockSite : AreaFrameOf(pBar->m_hWnd);
    if (pFrame == NULL)
        return NULL;
    CExtDynAutoHideArea* arrAreas[4];
    FindAreas(pFrame->m_hWnd, &arrAreas[0], &arrAreas[1], &arrAreas[2], &arrAreas[3]);
    for (CExtDynAutoHideArea* pArea : arrAreas)
    {
        if (pArea == NULL)
            continue;
        const int nIndex = pArea->ItemFindByLParam(LPARAM(pBar), -1, true, true);
        if (nIndex >= 0)
        {
            if (pnIndex != NULL)
                *pnIndex = nIndex;
            return pArea;
        }
    }
    return NULL;
}

CExtControlBar* CExtDynAutoHideArea::ItemBar(int nIndex) const
{
    TAB_ITEM_INFO* pTii = ItemGet(nIndex);
    if (pTii == NULL)
        return NULL;
    CExtControlBar* pBar = reinterpret_cast<CExtControlBar*>(pTii->LParamGet());
    // The item may outlive its bar's window; a bar object that left the list of bars
    // is gone altogether.
    for (INT_PTR i = 0; i < CExtControlBar::g_AllBars.GetSize(); i++)
        if (CExtControlBar::g_AllBars[i] == pBar)
            return pBar;
    return NULL;
}

void CExtDynAutoHideArea::OnAreaNotify1()
{
    if (m_pWndSlider != NULL && m_pWndSlider->GetSafeHwnd() != NULL)
        m_pWndSlider->OnAreaNotify1();
}

void CExtDynAutoHideArea::OnAreaNotify2()
{
    if (m_pWndSlider != NULL && m_pWndSlider->GetSafeHwnd() != NULL)
        m_pWndSlider->OnAreaNotify2();
}

// ---- adding and removing bars ---------------------------------------------------------------

void CExtDynAutoHideArea::AppendBar(CExtControlBar* pBar, bool bForce)
{
    if (pBar == NULL || m_hWnd == NULL)
        return;
    CExtControlBar* pSlideBar = pBar;
    m_nBusyFlags |= __EAHB_UPDATING | __EAHB_ALLOW_INACTIVE;
    if (IsTabbedGroup(pBar))
        AppendTabbedGroup(pBar);
    else
    {
        DWORD dwStyle = TAB_ITEM_INFO::__ETWI_GROUP_START;
        if (!HasIcon(m_hWnd, UINT(pBar->GetDlgCtrlID())))
            dwStyle |= TAB_ITEM_INFO::__ETWI_CENTERED_TEXT;
        pBar->m_nInteractionFlags |= CExtControlBar::__EIF_AUTOHIDE;
        if (ItemInsert(NULL, (HICON)NULL, dwStyle, -1, LPARAM(pBar), false) != NULL)
        {
            SelectionSet(ItemGetCount() - 1, false, false);
            SelectionSet(-1, false, false);
        }
    }
    m_nBusyFlags &= BYTE(~(__EAHB_UPDATING | __EAHB_ALLOW_INACTIVE));
    OnTabWndSyncVisibility();
    UpdateTabWnd(true);
    if (bForce)
        return;
    CFrameWnd* pFrame = pBar->m_pDockSite;
    if (pFrame != NULL && pFrame->GetSafeHwnd() != NULL)
        pFrame->RecalcLayout(TRUE);
    CExtDynTabControlBar* pGroup = DYNAMIC_DOWNCAST(CExtDynTabControlBar, pBar);
    if (pGroup != NULL)
    {
        // The group's selected page (its first when none is) is the one that slides.
        CArray<CExtControlBar*, CExtControlBar*> arrPages;
        pGroup->GetPages(arrPages);
        CExtControlBar* pPage = pGroup->GetSelectedBar();
        if (pPage == NULL && arrPages.GetSize() > 0)
            pPage = arrPages[0];
        if (pPage != NULL)
            pSlideBar = pPage;
    }
    if (m_pWndSlider != NULL && m_pWndSlider->GetSafeHwnd() != NULL)
        m_pWndSlider->SlideBar(pSlideBar, true, false, true);
}

void CExtDynAutoHideArea::RemoveBar(CExtControlBar* pBar, bool bForce)
{
    if (pBar == NULL || m_hWnd == NULL)
        return;
    if (IsTabbedGroup(pBar))
    {
        RemoveTabbedGroup(pBar, bForce);
        return;
    }
    pBar->m_nInteractionFlags &= BYTE(~CExtControlBar::__EIF_AUTOHIDE);
    const int nIndex = ItemFindByLParam(LPARAM(pBar), -1, true, true);
    if (nIndex >= 0)
    {
        m_nBusyFlags |= __EAHB_UPDATING;
        ItemRemove(nIndex, 1, true);
        m_nBusyFlags &= BYTE(~__EAHB_UPDATING);
    }
    OnTabWndSyncVisibility();
    CFrameWnd* pFrame = pBar->m_pDockSite;
    if (pFrame == NULL || pFrame->GetSafeHwnd() == NULL)
        return;
    if (bForce)
    {
        pFrame->DelayRecalcLayout();
        return;
    }
    if (pBar->m_pDockBar != NULL && !CExtPaintManagerHolder::IsKindOfByName(pBar->m_pDockBar, "CExtDockDynTabBar"))
    {
        // Back into the row it kept its place in while pinned away.
        CExtDockBar* pDockBar = DYNAMIC_DOWNCAST(CExtDockBar, pBar->m_pDockBar);
        if (pDockBar != NULL && pDockBar->FindBar(pBar) < 0)
            pDockBar->DockControlBar(pBar);
        pBar->MakeRoomInRow();
    }
    pFrame->ShowControlBar(pBar, TRUE, TRUE);
}

// A tabbed group brings one tab per page, the group's first tab starting the group.
void CExtDynAutoHideArea::AppendTabbedGroup(CExtControlBar* pGroupBar)
{
    CExtDynTabControlBar* pGroup = DYNAMIC_DOWNCAST(CExtDynTabControlBar, pGroupBar);
    if (pGroup == NULL)
        return;
    CArray<CExtControlBar*, CExtControlBar*> arrPages;
    pGroup->GetPages(arrPages);
    pGroup->m_nInteractionFlags |= CExtControlBar::__EIF_AUTOHIDE;
    CExtControlBar* pSelected = pGroup->GetSelectedBar();
    if (pSelected == NULL && arrPages.GetSize() > 0)
        pSelected = arrPages[0];
    const bool bNoIcon = !HasIcon(m_hWnd, UINT(pGroup->GetDlgCtrlID()));
    int nActive = -1;
    for (INT_PTR i = 0; i < arrPages.GetSize(); i++)
    {
        CExtControlBar* pPage = arrPages[i];
        DWORD dwStyle = (i == 0) ? DWORD(TAB_ITEM_INFO::__ETWI_GROUP_START) : 0;
        if (!pPage->IsTabShown())
            dwStyle |= TAB_ITEM_INFO::__ETWI_INVISIBLE;
        if (bNoIcon)
            dwStyle |= TAB_ITEM_INFO::__ETWI_CENTERED_TEXT;
        pPage->m_nInteractionFlags |= CExtControlBar::__EIF_AUTOHIDE;
        if (ItemInsert(NULL, (HICON)NULL, dwStyle, -1, LPARAM(pPage), false) != NULL && pPage == pSelected)
            nActive = ItemGetCount() - 1;
    }
    if (nActive >= 0)
    {
        SelectionSet(nActive, false, false);
        SelectionSet(-1, false, false);
    }
}

void CExtDynAutoHideArea::RemoveTabbedGroup(CExtControlBar* pGroupBar, bool bForce)
{
    pGroupBar->m_nInteractionFlags &= BYTE(~CExtControlBar::__EIF_AUTOHIDE);
    CExtDynTabControlBar* pGroup = DYNAMIC_DOWNCAST(CExtDynTabControlBar, pGroupBar);
    CArray<CExtControlBar*, CExtControlBar*> arrPages;
    if (pGroup != NULL)
        pGroup->GetPages(arrPages);
    CExtControlBar* pActivePage = NULL;
    int nActivePos = -1;
    m_nBusyFlags |= __EAHB_UPDATING;
    for (INT_PTR i = arrPages.GetSize() - 1; i >= 0; i--)
    {
        CExtControlBar* pPage = arrPages[i];
        const int nIndex = ItemFindByLParam(LPARAM(pPage), -1, true, true);
        if (nIndex < 0)
            continue;
        if (pActivePage == NULL && ItemGet(nIndex)->InGroupActiveGet())
        {
            pActivePage = pPage;
            nActivePos = int(i);
            continue;
        }
        pPage->m_nInteractionFlags &= BYTE(~CExtControlBar::__EIF_AUTOHIDE);
        ItemRemove(nIndex, 1, false);
    }
    if (pActivePage != NULL)
    {
        pActivePage->m_nInteractionFlags &= BYTE(~CExtControlBar::__EIF_AUTOHIDE);
        const int nIndex = ItemFindByLParam(LPARAM(pActivePage), -1, true, true);
        if (nIndex >= 0)
            ItemRemove(nIndex, 1, false);
    }
    m_nBusyFlags &= BYTE(~__EAHB_UPDATING);
    UpdateTabWnd(true);
    OnTabWndSyncVisibility();
    CFrameWnd* pFrame = pGroupBar->m_pDockSite;
    if (pFrame == NULL || pFrame->GetSafeHwnd() == NULL)
        return;
    if (bForce)
    {
        pFrame->ShowControlBar(pGroupBar, TRUE, TRUE);
        pFrame->DelayRecalcLayout();
        return;
    }
    CExtDockBar* pDockBar = DYNAMIC_DOWNCAST(CExtDockBar, pGroupBar->m_pDockBar);
    if (pDockBar != NULL && pDockBar->FindBar(pGroupBar) < 0)
        pDockBar->DockControlBar(pGroupBar);
    pGroupBar->MakeRoomInRow();
    if (pActivePage != NULL)
        pFrame->ShowControlBar(pActivePage, TRUE, TRUE);
    pFrame->ShowControlBar(pGroupBar, TRUE, FALSE);
    if (pGroup != NULL && nActivePos >= 0)
        pGroup->SelectVisibleTab(nActivePos);
}

// ---- the tab window's queries ---------------------------------------------------------------

void CExtDynAutoHideArea::OnTabWndSyncVisibility()
{
    if (m_hWnd == NULL)
        return;
    CFrameWnd* pFrame = GetAreaFrame();
    const bool bShow = ItemGetCount() > 0 && !(pFrame != NULL && CExtControlBar::IsPrintPreviewActive(pFrame));
    SetWindowPos(NULL, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE |
                     (bShow ? (SWP_SHOWWINDOW | SWP_FRAMECHANGED) : SWP_HIDEWINDOW));
}

void CExtDynAutoHideArea::OnTabWndQueryMetrics(int& m1, int& m2, int& m3)
{
    CExtTabWnd::OnTabWndQueryMetrics(m1, m2, m3);
    m3 = 0;
    if (!OrientationIsHorizontal())
        return;
    CFrameWnd* pFrame = GetAreaFrame();
    if (pFrame == NULL)
        return;
    CExtDockBar* pLeftDock = DYNAMIC_DOWNCAST(CExtDockBar, pFrame->GetControlBar(AFX_IDW_DOCKBAR_LEFT));
    CExtDockBar* pRightDock = DYNAMIC_DOWNCAST(CExtDockBar, pFrame->GetControlBar(AFX_IDW_DOCKBAR_RIGHT));
    if (pLeftDock == NULL || pRightDock == NULL || pLeftDock->GetCircleNo() != 0 || pRightDock->GetCircleNo() != 0)
        return;
    CExtDynAutoHideArea* pLeft = pLeftDock->GetAutoHideArea();
    CExtDynAutoHideArea* pRight = pRightDock->GetAutoHideArea();
    if (pLeft == NULL || pRight == NULL)
        return;
    const bool bLeft = pLeft->ItemGetCount() > 0, bRight = pRight->ItemGetCount() > 0;
    if (!bLeft && !bRight)
        return;
    CRect rcWnd;
    GetWindowRect(&rcWnd);
    if (bLeft)
        m1 += rcWnd.Height();
    if (bRight)
        m2 += rcWnd.Height();
}

CExtCmdIcon* CExtDynAutoHideArea::OnTabWndQueryItemIcon(const TAB_ITEM_INFO* pTii) const
{
    if (pTii == NULL)
        return NULL;
    CExtControlBar* pBar = ItemBar(ItemGetIndexOf(pTii));
    if (pBar == NULL)
        return NULL;
    LPCTSTR sProfile = g_CommandManager->ProfileNameFromWnd(m_hWnd);
    return sProfile != NULL ? g_CommandManager->CmdGetIconPtr(sProfile, UINT(pBar->GetDlgCtrlID())) : NULL;
}

LPCTSTR CExtDynAutoHideArea::OnTabWndQueryItemText(const TAB_ITEM_INFO* pTii) const
{
    static CString g_sItemText;
    g_sItemText.Empty();
    CExtControlBar* pBar = pTii != NULL ? ItemBar(ItemGetIndexOf(pTii)) : NULL;
    if (pBar != NULL)
        pBar->OnGetBarCaptionText(5, g_sItemText);
    return g_sItemText;
}

void CExtDynAutoHideArea::OnTabWndItemInsert(int nItemIndex, TAB_ITEM_INFO* pTii)
{
    CExtTabWnd::OnTabWndItemInsert(nItemIndex, pTii);
    UpdateTabWnd(false);
}

bool CExtDynAutoHideArea::IsFrameActiveForArea() const
{
    CFrameWnd* pFrame = GetAreaFrame();
    if (pFrame == NULL)
        return false;
    if ((m_nBusyFlags & __EAHB_ALLOW_INACTIVE) == 0 &&
        !CExtPopupMenuWnd::stat_TestWindowsShareParent(m_hWnd, ::GetActiveWindow(), true, true, true))
        return false;
    if (pFrame->IsKindOf(RUNTIME_CLASS(CMDIChildWnd)))
    {
        CMDIFrameWnd* pMdiFrame = static_cast<CMDIChildWnd*>(pFrame)->GetMDIFrame();
        return pMdiFrame != NULL && pMdiFrame->MDIGetActive() == pFrame;
    }
    const HWND hWndFocus = ::GetFocus();
    if (hWndFocus == NULL)
        return false;
    if (hWndFocus == pFrame->m_hWnd || ::IsChild(pFrame->m_hWnd, hWndFocus))
        return true;
    CFrameWnd* pFocusFrame = CWnd::FromHandle(hWndFocus)->GetParentFrame();
    return pFocusFrame != NULL && (pFocusFrame == pFrame || ::IsChild(pFrame->m_hWnd, pFocusFrame->m_hWnd));
}

bool CExtDynAutoHideArea::OnTabWndSelectionChange(int nOldItem, int nNewItem, bool bPreSelectionTest)
{
    const bool bResult = CExtTabWnd::OnTabWndSelectionChange(nOldItem, nNewItem, bPreSelectionTest);
    CExtDynAutoHideSlider* pSlider = (m_pWndSlider != NULL && m_pWndSlider->GetSafeHwnd() != NULL) ? m_pWndSlider : NULL;
    if (nOldItem == nNewItem && pSlider != NULL && (pSlider->GetStyle() & WS_VISIBLE) != 0)
        return bResult;
    if (bPreSelectionTest)
    {
        if (!IsFrameActiveForArea())
            return nNewItem < 0 && bResult;
        if (nNewItem >= 0 && (m_nBusyFlags & __EAHB_UPDATING) == 0 && pSlider != NULL && pSlider->IsOut())
        {
            CExtControlBar* pShown = pSlider->GetShownBar();
            if (pShown != NULL)
                pSlider->SlideBar(pShown, false, false, true);
        }
        return bResult;
    }
    if ((m_nBusyFlags & __EAHB_UPDATING) != 0 || nNewItem < 0 || nNewItem >= ItemGetCount() || pSlider == NULL)
        return bResult;
    CExtControlBar* pBar = ItemBar(nNewItem);
    if (pBar == NULL || pBar->GetSafeHwnd() == NULL || pBar->IsCustomizeModeActive())
        return bResult;
    const bool bAnimate = (m_nKeyboardFlags & 1) == 0;
    m_nKeyboardFlags &= BYTE(~1);
    pSlider->SlideBar(pBar, true, bAnimate, true);
    return bResult;
}

// ---- keyboard ---------------------------------------------------------------------------

BOOL CExtDynAutoHideArea::PreTranslateMessage(MSG* pMsg)
{
    if (HandleKeyboardSwitch(pMsg))
        return TRUE;
    return CExtTabWnd::PreTranslateMessage(pMsg);
}

bool CExtDynAutoHideArea::HandleKeyboardSwitch(const MSG* pMsg)
{
    if (!CExtControlBar::g_bAutoHideKeyboardSwitch || pMsg == NULL || pMsg->message != WM_KEYDOWN ||
        (pMsg->wParam != VK_PRIOR && pMsg->wParam != VK_NEXT))
        return false;
    if (::GetKeyState(VK_CONTROL) >= 0 || ::GetKeyState(VK_SHIFT) < 0 || ::GetKeyState(VK_MENU) < 0)
        return false;
    const int nCount = ItemGetCount(), nSel = SelectionGet();
    if (nCount == 0 || nSel < 0)
        return false;
    const int nStep = (pMsg->wParam == VK_PRIOR) ? -1 : 1;
    int nIndex = nSel;
    for (int nGuard = 0; nGuard < nCount; nGuard++)
    {
        nIndex = (nIndex + nStep + nCount) % nCount;
        if (nIndex == nSel)
            return true;  // back where it started: nothing changes
        TAB_ITEM_INFO* pTii = ItemGet(nIndex);
        CExtControlBar* pBar = ItemBar(nIndex);
        if (pTii == NULL || !pTii->VisibleGet() || (pTii->GetItemStyle() & 0x10) != 0 || pBar == NULL ||
            pBar->GetSafeHwnd() == NULL || (pBar->GetStyle() & WS_VISIBLE) != 0)
            continue;
        CancelToolTips();
        m_nKeyboardFlags |= 1;
        SelectionSet(nIndex, true, true);
        // Out now, the bar's content lives in the slider and takes the focus there.
        const HWND hWndSlider = (m_pWndSlider != NULL) ? m_pWndSlider->GetSafeHwnd() : NULL;
        if (hWndSlider == NULL || m_pWndSlider->GetShownBar() != pBar)
            return true;
        const HWND hWndContent = ::GetWindow(hWndSlider, GW_CHILD);
        if (hWndContent != NULL && (::GetWindowLong(hWndContent, GWL_STYLE) & WS_VISIBLE) != 0 &&
            CExtControlBar::QueryFocusChangingEnabled(this, hWndContent))
            ::SetFocus(hWndContent);
        return true;
    }
    return true;
}

// ---- window messages ----------------------------------------------------------------------

LRESULT CExtDynAutoHideArea::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message)
    {
    case WM_PAINT:
        OnAreaPaint();
        break;
    case WM_SIZEPARENT:
        OnAreaSizeParent(lParam);
        return 0;
    case WM_SIZE:
    case WM_WINDOWPOSCHANGED:
    {
        const LRESULT lResult = CExtTabWnd::WindowProc(message, wParam, lParam);
        OnAreaMoved(message == WM_SIZE);
        return lResult;
    }
    case WM_CONTEXTMENU:
        OnAreaContextMenu(CPoint(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)));
        return 0;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
        return 0;
    default:
        break;
    }
    return CExtTabWnd::WindowProc(message, wParam, lParam);
}

void CExtDynAutoHideArea::OnAreaPaint()
{
    int nOverride = CExtControlBar::g_nAutoHideTabStyleOverride;
    if (nOverride == -1)
        nOverride = (GetPaintManager()->QueryTabSettingDefault() == 1) ? 1 : 0;
    const DWORD dwWanted = (nOverride == 1) ? DWORD(__EAH_TAB_STYLE_BIT) : 0;
    if ((m_dwTabWndStyle & __EAH_TAB_STYLE_BIT) != dwWanted)
    {
        m_dwTabWndStyle = (m_dwTabWndStyle & ~DWORD(__EAH_TAB_STYLE_BIT)) | dwWanted;
        m_wTabWndState |= __ETWST_DELAY_RECALC;
    }
}

void CExtDynAutoHideArea::OnAreaSizeParent(LPARAM lParam)
{
    CExtTabWnd::OnSizeParent(0, lParam);
    if ((GetStyle() & WS_VISIBLE) == 0)
        return;
    CFrameWnd* pFrame = GetAreaFrame();
    if (pFrame == NULL)
        return;
    const UINT nID = UINT(GetDlgCtrlID());
    CExtDockBar* pDockBar = DYNAMIC_DOWNCAST(CExtDockBar, pFrame->GetControlBar(nID));
    if (pDockBar == NULL || pDockBar->GetCircleNo() != 0)
        return;
    CRect rcWnd;
    GetWindowRect(&rcWnd);
    UINT nSide = nID;
    if ((pFrame->GetExStyle() & WS_EX_LAYOUTRTL) != 0 && (nID == AFX_IDW_DOCKBAR_LEFT || nID == AFX_IDW_DOCKBAR_RIGHT))
        nSide = (nID == AFX_IDW_DOCKBAR_LEFT) ? AFX_IDW_DOCKBAR_RIGHT : AFX_IDW_DOCKBAR_LEFT;
    CRect& rcEdge = pDockBar->InnerEdgeRectRef();
    switch (nSide)
    {
    case AFX_IDW_DOCKBAR_TOP: rcEdge.bottom += rcWnd.Height(); break;
    case AFX_IDW_DOCKBAR_LEFT: rcEdge.right += rcWnd.Width(); break;
    case AFX_IDW_DOCKBAR_RIGHT: rcEdge.left -= rcWnd.Width(); break;
    default: rcEdge.top -= rcWnd.Height(); break;
    }
}

void CExtDynAutoHideArea::OnAreaMoved(bool bFromSize)
{
    CRect rcWnd;
    GetWindowRect(&rcWnd);
    if (rcWnd == CRect(m_rcLastWnd))
        return;
    m_rcLastWnd = rcWnd;
    CExtDynAutoHideSlider* pSlider = m_pWndSlider;
    if (pSlider == NULL || pSlider->GetSafeHwnd() == NULL || !pSlider->IsOut() || pSlider->IsBusy())
        return;
    if (!bFromSize && pSlider->m_nResizingMode != CExtDynAutoHideSlider::__EAHS_RESIZE_NONE)
        return;
    // A moving area takes its bar in.
    pSlider->PostMessage(WM_CANCELMODE);
}

void CExtDynAutoHideArea::OnAreaContextMenu(CPoint ptScreen)
{
    CFrameWnd* pFrame = GetAreaFrame();
    if (pFrame == NULL || CExtControlBar::g_bLockAllBars || CExtControlBar::IsFrameInHelpMode(this) ||
        GetPushedTrackingIndex() >= 0)
        return;
    CExtControlBar* pAnyBar = ItemBar(0);
    if (pAnyBar != NULL && pAnyBar->IsCustomizeModeActive())
        return;
    if (m_pWndSlider != NULL && m_pWndSlider->GetSafeHwnd() != NULL && m_pWndSlider->IsBusy())
        return;
    CExtPopupMenuWnd* pPopup = new CExtPopupMenuWnd;
    if (!pPopup->CreatePopupMenu(pFrame->m_hWnd))
    {
        delete pPopup;
        return;
    }
    CExtControlBar::POPUP_MENU_EVENT_DATA _pmed(8, pPopup, this, ptScreen, WM_CONTEXTMENU, NULL);
    if (!_pmed.NotifyTarget(false))
    {
        for (int i = 0; i < ItemGetCount(); i++)
        {
            CExtControlBar* pBar = ItemBar(i);
            TAB_ITEM_INFO* pTii = ItemGet(i);
            if (pBar == NULL || pTii == NULL)
                continue;
            if (i > 0 && pTii->GroupStartGet())
                pPopup->ItemInsert(CExtPopupMenuWnd::TYPE_SEPARATOR, -1);
            pBar->InsertIntoBarsMenu(pPopup);
        }
    }
    _pmed.NotifyTarget(true);
    if (pPopup->ItemGetCount() == 0)
    {
        delete pPopup;
        return;
    }
    if (CExtControlBar::QueryFocusChangingEnabled(this, pFrame->m_hWnd))
        pFrame->SetFocus();
    if (!pPopup->TrackPopupMenu(CExtPopupMenuWnd::TMF_OWNER_DRAW, _pmed.m_ptScreen.x, _pmed.m_ptScreen.y))
        delete pPopup;
}

