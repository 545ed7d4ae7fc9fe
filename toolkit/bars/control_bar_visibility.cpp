// A bar towards the user and its frame: showing, hiding and toggling it, keeping the
// frame's layout current when it changes visibility, giving it the focus, the mouse
// handlers around the caption buttons, the cursor over the bar, the double-click float
// toggle and the tips.
//
// A bar in a dialog has no frame to show or hide it through: showing, hiding and
// toggling leave it as it is, and the dialog lays it out.
#include "toolkit/bars/control_bar.h"
#include "toolkit/bars/auto_hide.h"
#include "toolkit/bars/dyn_tab_control_bar.h"
#include "framework/afxres.h"
#include "framework/dockbar.h"
#include "framework/miniframe.h"
#include "toolkit/core/cmd_tree.h"
#include "toolkit/menus/popup_menu_tip_wnd.h"
#include "toolkit/menus/popup_menu_wnd.h"
#include "toolkit/menus/popup_tracking_site.h"

bool CExtMiniDockFrameWnd::g_bBringToTopOnMouseMove = false;

namespace {

bool IsOutsideFrame(const CExtControlBar* pBar)
{
    return (pBar->m_nOptionFlags & CExtControlBar::__ESF_OUTSIDE_FRAME) != 0;
}

bool IsWindowVisibleBit(HWND hWnd) { return hWnd != NULL && (::GetWindowLong(hWnd, GWL_STYLE) & WS_VISIBLE) != 0; }

// The bar's own loops (row, in-row, drag) and the drag loop's extra bit.
const BYTE kLoopBits = CExtControlBar::__EAF_ROW_RESIZING | CExtControlBar::__EAF_INROW_RESIZING |
                       CExtControlBar::__EAF_DRAGGING;

void SetCursorIfChanged(HCURSOR hCursor)
{
    if (hCursor != NULL && ::GetCursor() != hCursor)
        ::SetCursor(hCursor);
}

}  // namespace

// ---- show, hide and visibility --------------------------------------------------------

void CExtControlBar::ShowBar(bool bShow, bool bDelay, bool)
{
    if (IsOutsideFrame(this) || m_hWnd == NULL)
        return;
    CFrameWnd* pFrame = GetDockingFrame();
    if (pFrame == NULL || pFrame->GetSafeHwnd() == NULL)
        return;
    pFrame->ShowControlBar(this, bShow ? TRUE : FALSE, bDelay ? TRUE : FALSE);
}

void CExtControlBar::DelayShow(BOOL bShow)
{
    // A bar pinned into an auto-hide area stays hidden in its dock bar.
    if (AutoHideModeGet())
        CControlBar::DelayShow(FALSE);
    else
        CControlBar::DelayShow(bShow);
}

bool CExtControlBar::EnsureBarShown()
{
    if (m_hWnd == NULL)
        return false;
    if (IsOutsideFrame(this))
        return IsWindowVisibleBit(m_hWnd);
    if (IsWindowVisibleBit(m_hWnd) && (m_nStateFlags & delayHide) == 0)
        return true;
    if ((m_nStateFlags & delayShow) != 0)
        return false;
    if (IsBarOleInPlaceActive() && (m_dwStyle & CBRS_HIDE_INPLACE) != 0)
        return false;
    const HWND hWndOwn = m_hWnd;
    DoFrameBarCheckCmd(GetDockingFrame(), UINT(GetDlgCtrlID()), false);
    CExtPopupMenuWnd::stat_PumpPendingMessages(false);
    if (!::IsWindow(hWndOwn))
        return false;
    return IsWindowVisibleBit(hWndOwn);
}

void CExtControlBar::ToggleVisibility(bool bHideIfVisible)
{
    if (IsOutsideFrame(this) || m_hWnd == NULL)
        return;
    CFrameWnd* pFrame = (m_pDockSite != NULL) ? m_pDockSite : GetDockingFrame();
    if (pFrame == NULL || pFrame->GetSafeHwnd() == NULL)
        return;
    const bool bVisible = IsWindowVisibleBit(m_hWnd);
    if (IsFixedDockStyle() || (bVisible && bHideIfVisible))
    {
        pFrame->ShowControlBar(this, bVisible ? FALSE : TRUE, FALSE);
        return;
    }
    // Shown and activated.
    if (AutoHideModeGet())
    {
        // Pinned away: its tab slides it out, and the slider takes the focus.
        if (GetAutoHideSliderShowingBar() != NULL)
            return;
        int nIndex = -1;
        CExtDynAutoHideArea* pArea = CExtDynAutoHideArea::FindBarArea(this, &nIndex);
        if (pArea == NULL)
            return;
        pArea->SelectionSet(nIndex, true, true);
        CExtDynAutoHideSlider* pSlider = pArea->GetSlider();
        if (pSlider != NULL && pSlider->GetSafeHwnd() != NULL && QueryFocusChangingEnabled(this, pSlider->m_hWnd))
            pSlider->SetFocus();
        return;
    }
    if (!bVisible)
    {
        pFrame->ShowControlBar(this, TRUE, FALSE);
        CFrameWnd* pParentFrame = GetParentFrame();
        if (pParentFrame != NULL && pParentFrame->IsKindOf(RUNTIME_CLASS(CExtMiniDockFrameWnd)))
        {
            OnBarVisibilityChanged();
            pParentFrame->RecalcLayout();
        }
    }
    CExtDynTabControlBar* pGroup = GetTabbedContainer();
    CFrameWnd* pParentFrame = GetParentFrame();
    if (pGroup != NULL)
        pGroup->m_wndTabSwitcher.SelectBar(this);
    else if (pParentFrame != NULL && pParentFrame->IsKindOf(RUNTIME_CLASS(CMiniFrameWnd)))
        pParentFrame->BringWindowToTop();
    if (m_hWnd != NULL && QueryFocusChangingEnabled(this, m_hWnd))
        SetFocus();
}

void CExtControlBar::OnUpdateBarCommand(CCmdUI* pCmdUI, bool bForceCheck)
{
    if (pCmdUI == NULL)
        return;
    pCmdUI->Enable(IsHidingAllowed() ? TRUE : FALSE);
    if (bForceCheck || IsFixedDockStyle())
        pCmdUI->SetCheck(IsWindowVisibleBit(m_hWnd) ? 1 : 0);
}

void CExtControlBar::OnShowWindow(BOOL bShow, UINT nStatus)
{
    Default();
    (void)bShow;
    HideTipAndNotifyCustomizeSite();
    if (nStatus == 0)
        OnBarVisibilityChanged();
}

void CExtControlBar::OnBarVisibilityChanged()
{
    const DWORD dwSaved = m_dwVisibilitySyncValue;
    m_dwVisibilitySyncValue = 0;
    // A bar in a dialog and a bar outside any dock bar have no frame layout to keep.
    if (IsOutsideFrame(this) || m_pDockBar == NULL)
        return;
    if (AutoHideModeGet() || GetDraggedBar() != NULL || g_pBarLastRepositioned != NULL || IsFixedMode() ||
        IsFixedDockStyle() || m_pDockSite == NULL || IsPrintPreviewMode() ||
        (m_nActivityFlags & __EAF_SYNC_GUARD) != 0)
        return;
    m_dwVisibilitySyncValue = dwSaved;
    // The row pays for or takes back the bar's length first; that step keeps out of
    // re-parenting by the same bit, which is set only after it.
    OnRowVisibilityChanged();
    if (m_hWnd == NULL)
        return;
    m_nActivityFlags |= __EAF_SYNC_GUARD;
    const bool bVisible = IsWindowVisibleBit(m_hWnd);
    CExtDockDynBar* pNested = DYNAMIC_DOWNCAST(CExtDockDynBar, m_pDockBar);
    CExtDynControlBar* pContainer = pNested != NULL ? DYNAMIC_DOWNCAST(CExtDynControlBar, pNested->GetParent()) : NULL;
    if (pContainer != NULL && pContainer->m_hWnd != NULL)
    {
        // A container shows while one of its bars does.
        const bool bContainerVisible = IsWindowVisibleBit(pContainer->m_hWnd);
        if (bVisible && !bContainerVisible)
            m_pDockSite->ShowControlBar(pContainer, TRUE, TRUE);
        else if (!bVisible && bContainerVisible && pNested->GetDockedVisibleCount() == 0)
            m_pDockSite->ShowControlBar(pContainer, FALSE, TRUE);
    }
    CExtDynControlBar* pSelfContainer = DYNAMIC_DOWNCAST(CExtDynControlBar, this);
    if (!bVisible && pSelfContainer != NULL && pSelfContainer->m_pWndDynDocker != NULL)
    {
        CArray<CControlBar*, CControlBar*> arrInner;
        pSelfContainer->m_pWndDynDocker->CollectBars(arrInner);
        for (INT_PTR i = 0; i < arrInner.GetSize(); i++)
            if (arrInner[i]->m_hWnd != NULL)
                arrInner[i]->DelayShow(FALSE);
    }
    CFrameWnd* pParentFrame = GetParentFrame();
    if (pParentFrame != NULL && pParentFrame->IsKindOf(RUNTIME_CLASS(CMiniFrameWnd)))
        pParentFrame->RecalcLayout();
    if (m_hWnd != NULL)
        m_nActivityFlags &= ~__EAF_SYNC_GUARD;
}

void CExtControlBar::RecalcParentFrameLayout()
{
    if ((m_nOptionFlags & __ESF_SIZEPARENT) == 0 || IsOutsideFrame(this) || m_hWnd == NULL)
        return;
    CFrameWnd* pFrame = GetParentFrame();
    // A frame that recalculates anyway once the synchronisation ends is left alone.
    if (pFrame == NULL || pFrame->GetSafeHwnd() == NULL || pFrame->m_bInRecalcLayout ||
        IsDockSiteInVisibilitySync(pFrame))
        return;
    HWND hWndTop = pFrame->m_hWnd;
    while ((::GetWindowLong(hWndTop, GWL_STYLE) & WS_CHILD) != 0 && ::GetParent(hWndTop) != NULL)
        hWndTop = ::GetParent(hWndTop);
    WINDOWPLACEMENT wp;
    ::ZeroMemory(&wp, sizeof(wp));
    wp.length = sizeof(wp);
    if (!::GetWindowPlacement(hWndTop, &wp) || wp.showCmd == SW_SHOWMINIMIZED)
        return;
    if (IsFixedMode() && IsFloating() && !IsFrameRegistered(pFrame) && IsWindowVisibleBit(pFrame->m_hWnd))
        pFrame->RecalcLayout();
    else
        pFrame->m_nIdleFlags |= CFrameWnd::idleLayout | CFrameWnd::idleNotify;
}

// ---- focus ----------------------------------------------------------------------------

void CExtControlBar::OnSetFocus(CWnd* pOldWnd)
{
    CControlBar::OnSetFocus(pOldWnd);
    if (IsFixedMode() || m_hWnd == NULL)
        return;
    if (m_pDockBar != NULL && !IsFloating() && IsMinimizedInRow())
        MaximizeInRow();
    HWND hWndChild = ::GetWindow(m_hWnd, GW_CHILD);
    if (hWndChild != NULL && QueryFocusChangingEnabled(this, hWndChild))
        ::SetFocus(hWndChild);
}

void CExtControlBar::ActivateBar()
{
    if (m_hWnd == NULL || !::IsWindow(m_hWnd))
        return;
    HWND hWndTarget = NULL;
    if (IsOutsideFrame(this))
        hWndTarget = ::GetParent(m_hWnd);
    else
    {
        CFrameWnd* pFrame = GetDockingFrame();
        if (pFrame == NULL || pFrame->GetSafeHwnd() == NULL)
        {
            if (QueryFocusChangingEnabled(this, m_hWnd))
                SetFocus();
            return;
        }
        hWndTarget = pFrame->m_hWnd;
    }
    if (hWndTarget == NULL)
        return;
    if ((::GetWindowLong(hWndTarget, GWL_EXSTYLE) & WS_EX_MDICHILD) != 0)
    {
        HWND hWndClient = ::GetParent(hWndTarget);
        if (hWndClient != NULL && HWND(::SendMessage(hWndClient, WM_MDIGETACTIVE, 0, 0)) != hWndTarget)
            ::SendMessage(hWndClient, WM_MDIACTIVATE, WPARAM(hWndTarget), 0);
        return;
    }
    const HWND hWndFocus = ::GetFocus();
    if (hWndFocus != NULL && (hWndFocus == hWndTarget || ::IsChild(hWndTarget, hWndFocus)))
        return;
    if (hWndFocus != NULL &&
        CExtPopupMenuWnd::stat_TestWindowsShareParent(m_hWnd, ::GetActiveWindow(), true, true, true))
        return;
    if (QueryFocusChangingEnabled(this, hWndTarget))
        ::SetFocus(hWndTarget);
}

HWND CExtControlBar::GetContentWindow()
{
    if (CExtPaintManagerHolder::IsKindOfByName(this, "CExtDynControlBar") || m_hWnd == NULL)
        return NULL;
    HWND hWndChild = ::GetWindow(m_hWnd, GW_CHILD);
    if (hWndChild == NULL && AutoHideModeGet())
    {
        // While the bar is out its content lives in the slider of its area.
        CExtDynAutoHideArea* pArea = CExtDynAutoHideArea::FindBarArea(this);
        CExtDynAutoHideSlider* pSlider = pArea != NULL ? pArea->GetSlider() : NULL;
        if (pSlider != NULL && pSlider->GetSafeHwnd() != NULL)
            hWndChild = ::GetWindow(pSlider->m_hWnd, GW_CHILD);
    }
    return hWndChild;
}

void CExtControlBar::DisableContentWindow()
{
    const HWND hWndContent = GetContentWindow();
    if (hWndContent != NULL)
        ::EnableWindow(hWndContent, FALSE);
}

void CExtControlBar::EnableContentWindow()
{
    const HWND hWndContent = GetContentWindow();
    if (hWndContent != NULL)
        ::EnableWindow(hWndContent, TRUE);
}

bool CExtControlBar::IsCustomizeModeActive() const
{
    if (m_hWnd == NULL)
        return false;
    CExtCustomizeSite* pSite = CExtCustomizeSite::GetCustomizeSite(m_hWnd);
    return pSite != NULL && pSite->IsCustomizeMode();
}

void CExtControlBar::RegisterWithCustomizeSite(CExtCustomizeSite* pSite)
{
    if (pSite != NULL && (m_nLifeFlags & __ELF_CUSTOMIZE_REGISTER) != 0)
        pSite->RegisterToolBar(this);
}

// ---- caption buttons under the mouse --------------------------------------------------

UINT CExtControlBar::NcButtonsHitTest(CPoint point, CExtBarNcAreaButton** ppBtn)
{
    if (ppBtn != NULL)
        *ppBtn = NULL;
    if (m_hWnd == NULL)
        return HTCLIENT;
    CWnd* pRefWnd = this;
    if (IsFloating())
    {
        pRefWnd = GetParentFrame();
        if (pRefWnd == NULL || !pRefWnd->IsKindOf(RUNTIME_CLASS(CExtMiniDockFrameWnd)))
            return HTCLIENT;
    }
    else if (AutoHideModeGet())
    {
        // Pinned away, the caption shows on the auto-hide slider while it shows the bar.
        pRefWnd = GetAutoHideSliderShowingBar();
        if (pRefWnd == NULL || (pRefWnd->GetStyle() & WS_VISIBLE) == 0)
            return HTCLIENT;
    }
    CRect rcRef;
    pRefWnd->GetWindowRect(&rcRef);
    const CPoint ptRel = point - rcRef.TopLeft();
    if (GetDraggedBar() != NULL || CExtPopupMenuWnd::IsMenuTracking())
        return HTCLIENT;

    UINT nResult = HTCLIENT;
    bool bRepaint = false;
    const bool bOwnLoop = (m_nActivityFlags & kLoopBits) != 0;
    for (INT_PTR i = 0; i < m_vNcAreaButtons.GetSize(); i++)
    {
        CExtBarNcAreaButton* pBtn = m_vNcAreaButtons[i];
        if (!pBtn->OnQueryVisibility())
            continue;
        if (ppBtn == NULL && bOwnLoop && (pBtn->IsHover() || pBtn->IsPressed()))
        {
            pBtn->ClearHoverAndPressed();
            bRepaint = true;
            continue;
        }
        const BYTE nFlagsBefore = pBtn->m_nFlags;
        const UINT nHit = pBtn->OnNcAreaHitTest(ptRel);
        // One repaint per change of the look, not one per mouse move.
        const bool bChanged = pBtn->m_nFlags != nFlagsBefore;
        if (nHit == HTCLIENT)
            continue;  // leaving a button repaints through the caller's hover bit
        if (ppBtn != NULL)
        {
            *ppBtn = pBtn;
            return nHit;
        }
        nResult = nHit;
        bRepaint = bRepaint || bChanged;
        break;
    }
    if (bRepaint)
        pRefWnd->SendMessage(WM_NCPAINT);
    return nResult;
}

bool CExtControlBar::NcHitTestAndCursor(CPoint point)
{
    if (m_hWnd == NULL)
        return false;
    CExtCustomizeSite* pSite = CExtCustomizeSite::GetCustomizeSite(m_hWnd);
    if (pSite != NULL && pSite->OnBarSetCursor(this, point))
        return true;
    if ((pSite == NULL || !pSite->IsCustomizeMode()) && IsFrameInHelpMode(this))
        return false;
    const HCURSOR hClassCursor = HCURSOR(::GetClassLongPtr(m_hWnd, GCLP_HCURSOR));
    if (IsOutsideFrame(this))
    {
        SetCursorIfChanged(hClassCursor);
        return true;
    }
    // The point in window coordinates, where the caption rectangle lives.
    CRect rcWnd;
    GetWindowRect(&rcWnd);
    CPoint ptScreen(point);
    ClientToScreen(&ptScreen);
    const CPoint ptWnd = ptScreen - rcWnd.TopLeft();
    const bool bOnCaption = ::PtInRect(&m_rcCaption, ptWnd) != FALSE;

    if ((m_nActivityFlags & (kLoopBits | __EAF_DRAG_LOOP)) == 0)
    {
        if (IsFloating())
        {
            SetCursorIfChanged(g_hCursorArrow);
            return true;
        }
        if (!bOnCaption)
        {
            SetCursorIfChanged(hClassCursor);
            return true;
        }
        for (INT_PTR i = 0; i < m_vNcAreaButtons.GetSize(); i++)
        {
            CExtBarNcAreaButton* pBtn = m_vNcAreaButtons[i];
            if (!pBtn->OnQueryVisibility())
                continue;
            const HCURSOR hButtonCursor = pBtn->OnNcAreaQueryCursor(ptWnd);
            if (hButtonCursor != NULL)
            {
                SetCursorIfChanged(hButtonCursor);
                return true;
            }
        }
        SetCursorIfChanged((IsDraggingAllowed() && IsFixedDockStyle()) ? g_hCursorDrag : g_hCursorArrow);
        return true;
    }
    if ((m_nActivityFlags & (__EAF_DRAGGING | __EAF_DRAG_LOOP)) == 0)
    {
        const bool bInRow = (m_nActivityFlags & __EAF_INROW_RESIZING) != 0;
        if (IsDockedVertically())
            SetCursorIfChanged(bInRow ? g_hCursorResizeV : g_hCursorResizeH);
        else
            SetCursorIfChanged(bInRow ? g_hCursorResizeH : g_hCursorResizeV);
        return true;
    }
    if (!IsFixedDockStyle())
    {
        SetCursorIfChanged(g_hCursorArrow);
        return true;
    }
    if ((m_nActivityFlags & __EAF_DRAGGING) != 0)
        SetCursorIfChanged(g_hCursorDrag);
    else
        SetCursorIfChanged(bOnCaption ? g_hCursorDrag : hClassCursor);
    return true;
}

// ---- mouse ----------------------------------------------------------------------------

void CExtControlBar::OnMouseMove(UINT nFlags, CPoint point)
{
    if (!ProcessMouseMove(nFlags, point))
        Default();
}

bool CExtControlBar::ProcessMouseMove(UINT, CPoint point)
{
    NcHitTestAndCursor(point);
    if ((m_nInteractionFlags & __EIF_NC_HOVER) != 0)
        return true;
    // While a loop of the bar runs, the loop owns the pointer.
    if ((m_nActivityFlags & __EAF_ROW_RESIZING) != 0)
    {
        RowResizeUpdate();
        return true;
    }
    if ((m_nActivityFlags & __EAF_INROW_RESIZING) != 0)
    {
        ColumnResizeUpdate();
        return true;
    }
    if ((m_nActivityFlags & __EAF_DRAGGING) != 0)
    {
        CPoint ptScreen(point);
        ClientToScreen(&ptScreen);
        DragUpdate(ptScreen, ::GetKeyState(VK_CONTROL) < 0);
        return true;
    }
    if ((m_nActivityFlags & kLoopBits) != 0)
        return true;
    if (IsFloating() && CExtMiniDockFrameWnd::g_bBringToTopOnMouseMove && !CExtPopupMenuWnd::IsMenuTracking())
    {
        CFrameWnd* pFrame = GetParentFrame();
        if (pFrame != NULL)
            pFrame->BringWindowToTop();
    }
    return false;
}

void CExtControlBar::OnLButtonDown(UINT nFlags, CPoint point)
{
    if (m_pDockBar == NULL || CExtPopupMenuWnd::IsMenuTracking())
    {
        CControlBar::OnLButtonDown(nFlags, point);
        return;
    }
    CPoint ptScreen(point);
    ClientToScreen(&ptScreen);
    if (IsFixedMode() && !UsesDockMarkerDrag())
    {
        if (m_pDockContext != NULL)
            m_pDockContext->StartDrag(ptScreen);
        return;
    }
    if (IsFloating())
    {
        CFrameWnd* pFrame = GetParentFrame();
        if (pFrame != NULL && pFrame->IsKindOf(RUNTIME_CLASS(CExtMiniDockFrameWnd)))
        {
            // The floating frame moves itself, as when its own caption is grabbed.
            pFrame->SendMessage(WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(ptScreen.x, ptScreen.y));
            return;
        }
    }
    if (!IsFixedMode() && QueryFocusChangingEnabled(this, m_hWnd))
        SetFocus();
    if (m_hWnd == NULL)
        return;
    CRect rcWnd;
    GetWindowRect(&rcWnd);
    DragLoop(ptScreen, CSize(ptScreen.x - rcWnd.left, ptScreen.y - rcWnd.top), 1, 1);
}

void CExtControlBar::OnLButtonUp(UINT nFlags, CPoint point)
{
    if ((m_nActivityFlags & __EAF_ROW_RESIZING) != 0)
    {
        RowResizeStop(false);
        return;
    }
    if ((m_nActivityFlags & __EAF_INROW_RESIZING) != 0)
    {
        ColumnResizeStop(false);
        return;
    }
    if ((m_nActivityFlags & __EAF_DRAGGING) != 0)
    {
        DragStop(false);
        return;
    }
    if ((m_nActivityFlags & kLoopBits) != 0)
        return;  // the running loop ends on its own button-up
    CControlBar::OnLButtonUp(nFlags, point);
}

void CExtControlBar::OnNcLButtonUp(UINT nHitTest, CPoint point)
{
    if ((m_nInteractionFlags & __EIF_NC_HOVER) != 0)
    {
        CWnd* pRefWnd = this;
        if (IsFloating() && GetParentFrame() != NULL)
            pRefWnd = GetParentFrame();
        CRect rcRef;
        pRefWnd->GetWindowRect(&rcRef);
        const CPoint ptRel = point - rcRef.TopLeft();
        // A click may hide or destroy the bar: walk a copy of the handles.
        const HWND hWndOwn = m_hWnd;
        for (INT_PTR i = 0; i < m_vNcAreaButtons.GetSize(); i++)
        {
            CExtBarNcAreaButton* pBtn = m_vNcAreaButtons[i];
            if (!pBtn->OnQueryVisibility())
                continue;
            if (pBtn->OnNcAreaClicked(ptRel))
                break;
            if (!::IsWindow(hWndOwn))
                return;
        }
        return;
    }
    if ((m_nActivityFlags & kLoopBits) != 0)
        return;
    CControlBar::OnNcLButtonUp(nHitTest, point);
}

void CExtControlBar::OnLButtonDblClk(UINT nFlags, CPoint point)
{
    if (m_pDockBar == NULL)
    {
        CControlBar::OnLButtonDblClk(nFlags, point);
        return;
    }
    if (IsFloatToggleAllowed())
        ToggleDocking();
}

void CExtControlBar::OnNcLButtonDblClk(UINT nHitTest, CPoint point)
{
    if (nHitTest != HTCAPTION)
    {
        CControlBar::OnNcLButtonDblClk(nHitTest, point);
        return;
    }
    // A floating bar has no caption of its own: its floating frame's caption docks it
    // again, not a caption code that reaches the bar.
    if (IsFloatToggleAllowed() && !IsFloating())
        ToggleDocking();
}

void CExtControlBar::OnCancelMode()
{
    if ((m_nActivityFlags & __EAF_ROW_RESIZING) != 0)
        RowResizeStop(true);
    else if ((m_nActivityFlags & __EAF_INROW_RESIZING) != 0)
        ColumnResizeStop(true);
    else if ((m_nActivityFlags & __EAF_DRAGGING) != 0)
        DragStop(true);
    CExtPopupMenuWnd::CancelMenuTracking();
    CWnd::CancelToolTips();
    if ((m_nInteractionFlags & __EIF_NC_HOVER) != 0)
    {
        m_nInteractionFlags &= ~__EIF_NC_HOVER;
        PostMessage(WM_NCPAINT);
    }
    Default();
}

void CExtControlBar::OnCaptureChanged(CWnd* pWnd)
{
    if (pWnd != this && (m_nActivityFlags & __EAF_ROW_RESIZING) != 0)
        RowResizeStop(true);
    else if (pWnd != this && (m_nActivityFlags & __EAF_INROW_RESIZING) != 0)
        ColumnResizeStop(true);
    CControlBar::OnCaptureChanged(pWnd);
}

void CExtControlBar::ToggleDocking()
{
    if (m_hWnd == NULL)
        return;
    if (IsFixedDockStyle())
    {
        if (m_pDockContext == NULL)
            return;
        m_pDockContext->ToggleDocking();
        if (m_hWnd == NULL)
            return;
        CFrameWnd* pFrame = GetDockingFrame();
        if (pFrame != NULL)
            pFrame->m_nIdleFlags |= CFrameWnd::idleLayout | CFrameWnd::idleNotify;
        RecalcNcFrame();
        return;
    }
    if (GetDockBarCtrlID() == AFX_IDW_DOCKBAR_FLOAT)
    {
        // A floating bar goes back to the side it last docked at.
        const UINT nSide = GetRedockSide();
        if (nSide != 0 && m_pDockSite != NULL && m_pDockSite->GetSafeHwnd() != NULL)
            DockAtFrameSide(nSide, false, NULL, true);
        return;
    }
    CFrameWnd* pParentFrame = GetParentFrame();
    if (pParentFrame != NULL && pParentFrame->IsKindOf(RUNTIME_CLASS(CMiniFrameWnd)))
        return;
    if (m_pDockSite != NULL && m_pDockSite->GetSafeHwnd() != NULL)
    {
        RememberDockedSide();
        FloatControlBar(m_ptFloatPos.x, m_ptFloatPos.y, CBRS_ALIGN_TOP);
    }
}

void CExtControlBar::RememberDockedSide()
{
    if (m_pDockContext == NULL || m_pDockSite == NULL || m_pDockBar == NULL)
        return;
    // A bar nested in a container or a ring counts for the frame side that holds it.
    for (CWnd* pWnd = m_pDockBar; pWnd != NULL && pWnd != m_pDockSite; pWnd = pWnd->GetParent())
    {
        const UINT nID = UINT(pWnd->GetDlgCtrlID());
        if (pWnd->IsKindOf(RUNTIME_CLASS(CDockBar)) && nID >= AFX_IDW_DOCKBAR_TOP && nID <= AFX_IDW_DOCKBAR_BOTTOM &&
            !static_cast<CDockBar*>(pWnd)->m_bFloating)
            m_pDockContext->m_uMRUDockID = nID;
    }
}

UINT CExtControlBar::GetRedockSide() const
{
    static const UINT ids[4] = {AFX_IDW_DOCKBAR_TOP, AFX_IDW_DOCKBAR_BOTTOM, AFX_IDW_DOCKBAR_LEFT,
                                AFX_IDW_DOCKBAR_RIGHT};
    static const DWORD aligns[4] = {CBRS_ALIGN_TOP, CBRS_ALIGN_BOTTOM, CBRS_ALIGN_LEFT, CBRS_ALIGN_RIGHT};
    const UINT nLast = m_pDockContext != NULL ? m_pDockContext->m_uMRUDockID : 0;
    for (int i = 0; i < 4; i++)
        if (ids[i] == nLast && (m_dwDockStyle & aligns[i]) != 0)
            return nLast;
    for (int i = 0; i < 4; i++)
        if ((m_dwDockStyle & aligns[i]) != 0)
            return ids[i];
    return 0;
}

// ---- tips -----------------------------------------------------------------------------

CExtPopupMenuTipWnd* CExtControlBar::GetBarTipWnd()
{
    if (!g_bUseAdvancedToolTips || m_bSuppressToolTips)
        return NULL;
    return g_PopupTrackingSite.GetTip();
}

void CExtControlBar::ShowBarTip(CExtPopupMenuTipWnd* pTip, const RECT& rcExclude, LPCTSTR sText)
{
    if (pTip == NULL || m_hWnd == NULL)
        return;
    const bool bBottomFixed = IsFixedMode() && GetDockBarCtrlID() == AFX_IDW_DOCKBAR_BOTTOM;
    pTip->SetTipStyle(bBottomFixed ? CExtPopupMenuTipWnd::__ETS_INV_RECTANGLE_NO_ICON
                                   : CExtPopupMenuTipWnd::__ETS_RECTANGLE_NO_ICON);
    pTip->SetText(sText);
    pTip->Show(this, rcExclude);
}

INT_PTR CExtControlBar::OnToolHitTest(CPoint point, TOOLINFO* pTI) const
{
    if (CExtToolControlBar::g_bButtonMenuTracking || CExtPopupMenuWnd::IsMenuTracking())
        return -1;
    CExtControlBar* pThis = const_cast<CExtControlBar*>(this);
    if (m_bSuppressToolTips || pThis->GetBarTipWnd() != NULL || m_hWnd == NULL)
        return -1;
    CPoint ptScreen(point);
    ClientToScreen(&ptScreen);
    CExtBarNcAreaButton* pBtn = NULL;
    pThis->NcButtonsHitTest(ptScreen, &pBtn);
    if (pBtn == NULL)
        return -1;
    return pBtn->OnToolHitTest(point, pTI);
}
