// The bar's non-client frame: its layout (caption or gripper strip, splitter strips),
// hit test and painting through the paint manager, the caption buttons' creation and
// placement, the window procedure's own messages, message pre-translation, the
// paint-manager change and the tracked areas (splitter trackers, docking outlines).
//
// WM_CLOSE never closes a bar: the bar answers 0 and stays as it is.
#include "toolkit/bars/control_bar.h"
#include "toolkit/bars/dyn_tab_control_bar.h"
#include <algorithm>
#include <cstdlib>
#include "framework/afxres.h"
#include "framework/dockbar.h"
#include "framework/miniframe.h"
#include "toolkit/core/cmd_item.h"
#include "toolkit/core/cmd_manager.h"
#include "toolkit/core/cmd_tree.h"
#include "toolkit/core/resource_manager.h"
#include "toolkit/bars/dyn_tab_control_bar.h"
#include "toolkit/dialogs/memory_dc.h"
#include "toolkit/menus/popup_menu_tip_wnd.h"
#include "toolkit/menus/popup_menu_wnd.h"
#include "toolkit/theme/pm_bar_parts.h"

bool CExtControlBar::g_bTabsAtTop = false;

namespace {

bool IsOutsideFrame(const CExtControlBar* pBar)
{
    return (pBar->m_nOptionFlags & CExtControlBar::__ESF_OUTSIDE_FRAME) != 0;
}

bool IsLayoutRTL() { return (g_CurrentResourceManager->GetLangLayout() & 1) != 0; }

}  // namespace

void CExtControlBar::GetWindowAndClientRects(CWnd* pWnd, CRect& rcWnd, CRect& rcClient)
{
    pWnd->GetWindowRect(&rcWnd);
    pWnd->GetClientRect(&rcClient);
    pWnd->ClientToScreen(&rcClient);
    rcClient.OffsetRect(-rcWnd.TopLeft());
    rcWnd.OffsetRect(-rcWnd.TopLeft());
}

CSize CExtControlBar::WithDialogEdgeRoom(CSize size) const
{
    // A bar in a dialog leaves room for the dialog's edge along its length.
    if (m_pDockSite == NULL)
    {
        if (IsDockedHorizontally())
            size.cy += 4;
        else
            size.cx += 4;
    }
    return size;
}

// ---- splitter sides -------------------------------------------------------------------

void CExtControlBar::QuerySplitterSides(bool* pbLeft, bool* pbTop, bool* pbRight, bool* pbBottom) const
{
    bool bLeft = true, bTop = true, bRight = true, bBottom = true;
    auto store = [&]() {
        if (pbLeft != NULL)
            *pbLeft = bLeft;
        if (pbTop != NULL)
            *pbTop = bTop;
        if (pbRight != NULL)
            *pbRight = bRight;
        if (pbBottom != NULL)
            *pbBottom = bBottom;
    };
    if (IsFixedMode())
    {
        store();
        return;
    }
    if (m_pDockSite == NULL || m_pDockBar == NULL ||
        !CExtPaintManagerHolder::IsKindOfByName(m_pDockBar, "CExtDockBar") ||
        m_pDockBar->IsKindOf(RUNTIME_CLASS(CExtDockDynTabBar)))
    {
        bLeft = bTop = bRight = bBottom = false;
        store();
        return;
    }
    const INT_PTR nPos = FindOwnDockBarPos();
    const CPtrArray& arr = m_pDockBar->m_arrBars;
    int nEntries = 0;
    for (INT_PTR i = 0; i < arr.GetSize(); i++)
        if (arr[i] != NULL && reinterpret_cast<UINT_PTR>(arr[i]) >= 0x10000)
            nEntries++;
    if (nPos < 0 || nEntries <= 1)
    {
        store();
        return;
    }
    auto visibleAt = [&](INT_PTR i) {
        void* p = arr[i];
        if (p == NULL || reinterpret_cast<UINT_PTR>(p) < 0x10000)
            return false;
        CControlBar* pBar = reinterpret_cast<CControlBar*>(p);
        return pBar->GetSafeHwnd() != NULL && (pBar->GetStyle() & WS_VISIBLE) != 0;
    };
    // From the bar towards one end of the array: a visible bar further in its row, and
    // one in the rows beyond.
    auto scanFromBar = [&](INT_PTR nStep, bool& bInRow, bool& bBeyondRow) {
        for (INT_PTR i = nPos + nStep; i >= 0 && i < arr.GetSize(); i += nStep)
        {
            if (arr[i] == NULL)
            {
                for (INT_PTR j = i + nStep; j >= 0 && j < arr.GetSize() && !bBeyondRow; j += nStep)
                    bBeyondRow = visibleAt(j);
                break;
            }
            bInRow = bInRow || visibleAt(i);
        }
    };
    bool bPrevInRow = false, bNextInRow = false, bRowBefore = false, bRowAfter = false;
    scanFromBar(-1, bPrevInRow, bRowBefore);
    scanFromBar(1, bNextInRow, bRowAfter);
    // Along the row a side has a splitter where a neighbour shows; across it the side
    // towards the frame's edge has one only where a row shows beyond it.
    const UINT nDockBarID = UINT(m_pDockBar->GetDlgCtrlID());
    const bool bRowAlongX = nDockBarID == __DOCKBAR_ID_TOP || nDockBarID == __DOCKBAR_ID_BOTTOM;
    if (bRowAlongX || nDockBarID == __DOCKBAR_ID_LEFT || nDockBarID == __DOCKBAR_ID_RIGHT)
    {
        (bRowAlongX ? bLeft : bTop) = bPrevInRow;
        (bRowAlongX ? bRight : bBottom) = bNextInRow;
        if (nDockBarID == __DOCKBAR_ID_TOP)
            bTop = bRowBefore;
        else if (nDockBarID == __DOCKBAR_ID_BOTTOM)
            bBottom = bRowAfter;
        else if (nDockBarID == __DOCKBAR_ID_LEFT)
            bLeft = bRowBefore;
        else
            bRight = bRowAfter;
    }
    store();
}

// ---- non-client layout ----------------------------------------------------------------

void CExtControlBar::RefreshNcMetrics(HDC hDcDraw)
{
    CUSTOM_NC_AREA_QUERY_DATA _cnaqd(this, hDcDraw);
    _cnaqd.Notify();
}

bool CExtControlBar::HasLeadingSplitter() const
{
    // Only where a resizable toolkit bar stands earlier in the row and the bar right
    // before this one cannot be resized against it.
    const INT_PTR nPos = FindOwnDockBarPos();
    if (nPos <= 0)
        return false;
    const CPtrArray& arr = m_pDockBar->m_arrBars;
    CControlBar* pNearest = NULL;  // the visible bar right before this one
    bool bResizableBefore = false;
    for (INT_PTR i = nPos - 1; i >= 0 && arr[i] != NULL; i--)
    {
        if (reinterpret_cast<UINT_PTR>(arr[i]) < 0x10000)
            continue;
        CControlBar* pBar = reinterpret_cast<CControlBar*>(arr[i]);
        if (pBar->GetSafeHwnd() == NULL || (pBar->GetStyle() & WS_VISIBLE) == 0)
            continue;
        if (pNearest == NULL)
            pNearest = pBar;
        CExtControlBar* pExt = DYNAMIC_DOWNCAST(CExtControlBar, pBar);
        if (pExt != NULL && !pExt->IsFixedMode())
            bResizableBefore = true;
    }
    if (!bResizableBefore)
        return false;
    CExtControlBar* pNearestExt = DYNAMIC_DOWNCAST(CExtControlBar, pNearest);
    return pNearestExt == NULL || pNearestExt->IsFixedMode();
}

void CExtControlBar::CutSplitterStrips(RECT& rc, const RECT& rcWnd0, bool bLeft, bool bTop, bool bRight,
                                       bool bBottom)
{
    const int nSepW = GetSeparatorWidth(), nSepH = GetSeparatorHeight();
    // Strips are cut in parent coordinates and stored in window coordinates.
    auto toWnd = [&](RECT r) {
        ::OffsetRect(&r, -rcWnd0.left, -rcWnd0.top);
        return r;
    };
    const bool bLeading = HasLeadingSplitter();
    RECT r;
    switch (GetDockBarCtrlID())
    {
    case __DOCKBAR_ID_TOP:
    case __DOCKBAR_ID_BOTTOM:
    {
        const bool bTopBar = GetDockBarCtrlID() == __DOCKBAR_ID_TOP;
        if (bTopBar ? bBottom : bTop)
        {
            if (bTopBar)
            {
                ::SetRect(&r, rc.left, rc.bottom - nSepH, rc.right, rc.bottom);
                rc.bottom -= nSepH;
            }
            else
            {
                ::SetRect(&r, rc.left, rc.top, rc.right, rc.top + nSepH);
                rc.top += nSepH;
            }
            m_rcRowSplitter = toWnd(r);
        }
        if (bRight)
        {
            ::SetRect(&r, rc.right - nSepW, rc.top, rc.right, rc.bottom);
            rc.right -= nSepW;
            m_rcTrailingSplitter = toWnd(r);
        }
        if (bLeading && bLeft)
        {
            ::SetRect(&r, rc.left, rc.top, rc.left + nSepW, rc.bottom);
            rc.left += nSepW;
            m_rcLeadingSplitter = toWnd(r);
        }
        break;
    }
    case __DOCKBAR_ID_LEFT:
    case __DOCKBAR_ID_RIGHT:
    {
        const bool bLeftBar = GetDockBarCtrlID() == __DOCKBAR_ID_LEFT;
        if (bLeftBar ? bRight : bLeft)
        {
            if (bLeftBar)
            {
                ::SetRect(&r, rc.right - nSepW, rc.top, rc.right, rc.bottom);
                rc.right -= nSepW;
            }
            else
            {
                ::SetRect(&r, rc.left, rc.top, rc.left + nSepW, rc.bottom);
                rc.left += nSepW;
            }
            m_rcRowSplitter = toWnd(r);
        }
        if (bBottom)
        {
            ::SetRect(&r, rc.left, rc.bottom - nSepH, rc.right, rc.bottom);
            rc.bottom -= nSepH;
            m_rcTrailingSplitter = toWnd(r);
        }
        if (bLeading && bTop)
        {
            ::SetRect(&r, rc.left, rc.top, rc.right, rc.top + nSepH);
            rc.top += nSepH;
            m_rcLeadingSplitter = toWnd(r);
        }
        break;
    }
    default:
        break;
    }
}

void CExtControlBar::OnNcCalcSize(BOOL bCalcValidRects, NCCALCSIZE_PARAMS* lpncsp)
{
    if (lpncsp == NULL || (m_pDockSite == NULL && !IsOutsideFrame(this)))
    {
        CControlBar::OnNcCalcSize(bCalcValidRects, lpncsp);
        return;
    }
    RECT& rc = lpncsp->rgrc[0];
    if (IsFloating())
    {
        // The floating frame's caption serves the bar: a fixed bar fills its window, a
        // resizable one keeps a 1-pixel border.
        if (!IsFixedMode())
            ::InflateRect(&rc, -1, -1);
        return;
    }
    const RECT rcWnd0 = rc;
    bool bLeft = true, bTop = true, bRight = true, bBottom = true;
    QuerySplitterSides(&bLeft, &bTop, &bRight, &bBottom);
    if (m_pDockBar != NULL && m_pDockBar->IsKindOf(RUNTIME_CLASS(CExtDockDynTabBar)))
        bLeft = bTop = bRight = bBottom = false;
    ::SetRectEmpty(&m_rcCaption);
    ::SetRectEmpty(&m_rcRowSplitter);
    ::SetRectEmpty(&m_rcTrailingSplitter);
    ::SetRectEmpty(&m_rcLeadingSplitter);
    RefreshNcMetrics();
    m_nMinHW = GetSeparatorWidth();
    m_nMinVH = GetSeparatorHeight();
    bool bGripperAtTop = false, bTextOnGripper = false;
    const bool bCaption = IsBarWithGripper(&bGripperAtTop, &bTextOnGripper);

    if (IsFixedMode())
        GetPaintManager()->DeflateBarRect(this, rc);
    else
        CutSplitterStrips(rc, rcWnd0, bLeft, bTop, bRight, bBottom);

    if (bCaption)
    {
        RECT rcCaption = rc;
        ::OffsetRect(&rcCaption, -rcWnd0.left, -rcWnd0.top);
        if (bGripperAtTop)
        {
            rcCaption.bottom = rcCaption.top + GetGripperHeightAtTop();
            m_nMinVH += GetGripperHeightAtTop();
        }
        else
        {
            rcCaption.right = rcCaption.left + GetGripperWidthAtLeft();
            m_nMinHW += GetGripperWidthAtLeft();
        }
        if (IsFixedMode())
        {
            if (bGripperAtTop)
            {
                rcCaption.left++;
                rcCaption.right--;
            }
            else
            {
                rcCaption.top++;
                rcCaption.bottom--;
            }
            if (IsDockedAtLeft())
                rcCaption.left++;
            else if (IsDockedAtTop())
                rcCaption.top++;
            else if (IsDockedAtRight())
                rcCaption.right--;
            else if (IsDockedAtBottom())
                rcCaption.bottom--;
        }
        m_rcCaption = rcCaption;
    }

    CreateNcAreaButtons();
    LayoutNcAreaButtons();

    if (bCaption)
    {
        if (bGripperAtTop)
            rc.top += GetGripperHeightAtTop() + 1;
        else
            rc.left += GetGripperWidthAtLeft() + 1;
    }
    if (rc.bottom < rc.top)
        rc.bottom = rc.top;
    if (rc.right < rc.left)
        rc.right = rc.left;
    const RECT rcCaption = m_rcCaption, rcRow = m_rcRowSplitter, rcTrailing = m_rcTrailingSplitter,
               rcLeading = m_rcLeadingSplitter;
    SetCaptionRect(rcCaption);
    SetRowSplitterRect(rcRow);
    SetTrailingSplitterRect(rcTrailing);
    SetLeadingSplitterRect(rcLeading);
}

// ---- hit test -------------------------------------------------------------------------

LRESULT CExtControlBar::OnNcHitTest(CPoint point)
{
    if (GetDraggedBar() != NULL)
        return HTNOWHERE;
    const UINT nButtonHit = NcButtonsHitTest(point);
    if (nButtonHit != HTCLIENT)
    {
        m_nInteractionFlags |= __EIF_NC_HOVER;
        return nButtonHit;
    }
    if ((m_nInteractionFlags & __EIF_NC_HOVER) != 0)
    {
        m_nInteractionFlags &= ~__EIF_NC_HOVER;
        PostMessage(WM_NCPAINT);
    }
    CRect rcWnd, rcClient;
    GetWindowAndClientRects(this, rcWnd, rcClient);
    if (IsFixedMode() || IsFloating() || rcWnd == rcClient)
        return HTCLIENT;
    CRect rcScreen;
    GetWindowRect(&rcScreen);
    const CPoint pt = point - rcScreen.TopLeft();
    const bool bHorz = IsDockedHorizontally();
    if (::PtInRect(&m_rcRowSplitter, pt))
    {
        if (g_bLockAllBars)
            return HTNOWHERE;
        return bHorz ? HTBOTTOM : HTRIGHT;
    }
    if (::PtInRect(&m_rcTrailingSplitter, pt))
    {
        if (IsLastInRow(true) || g_bLockAllBars)
            return HTNOWHERE;
        return bHorz ? HTRIGHT : HTBOTTOM;
    }
    if (::PtInRect(&m_rcLeadingSplitter, pt))
    {
        if (IsFirstInRow(true) || g_bLockAllBars)
            return HTNOWHERE;
        return bHorz ? HTLEFT : HTTOP;
    }
    return HTCLIENT;
}

// ---- painting -------------------------------------------------------------------------

void CExtControlBar::OnNcPaint()
{
    if ((m_nOptionFlags & __ESF_NC_BUTTONS_RELAYOUT) != 0)
    {
        m_nOptionFlags &= ~__ESF_NC_BUTTONS_RELAYOUT;
        LayoutNcAreaButtons();
    }
    CRect rcWnd, rcClient;
    GetWindowAndClientRects(this, rcWnd, rcClient);
    CWindowDC dcWnd(this);
    dcWnd.ExcludeClipRect(&rcClient);
    {
        CExtMemoryDC dc(&dcWnd, &rcWnd, CExtMemoryDC::MDCOPT_TO_MEMORY | CExtMemoryDC::MDCOPT_FILL_SURFACE);
        CUSTOM_NC_AREA_QUERY_DATA _cnaqd(this, dc.GetSafeHdc());
        if (!_cnaqd.Notify())
            DrawNcArea(dc);
    }
}

int CExtControlBar::OnGetBarCaptionText(int, CString& sText) const
{
    if (m_hWnd == NULL)
        return 0;
    CString sWnd;
    GetWindowText(sWnd);
    if (sWnd.GetLength() > 0)
        sText = sWnd;
    return sWnd.GetLength();
}

void CExtControlBar::DrawNcArea(CDC& dc)
{
    if (m_hWnd == NULL)
        return;
    CExtPaintManager* pPM = GetPaintManager();
    CRect rcWnd, rcClient;
    GetWindowAndClientRects(this, rcWnd, rcClient);
    const int nSaved = dc.SaveDC();
    dc.ExcludeClipRect(&rcClient);
    if (!(pPM->UsesParentBackground(this) && pPM->DrawWindowBackground(false, dc, this)))
        dc.FillSolidRect(&rcWnd, pPM->LookupColor(CExtPaintManager::CLR_3DFACE_OUT, this));

    const bool bActive = (m_nInteractionFlags & __EIF_FOCUS_INSIDE) != 0;
    const bool bFloating = IsFloating();
    const bool bFixed = IsFixedMode();
    CExtPaintManager::PAINTBARFRAMEDATA _pbfd(this, rcWnd, rcClient, bActive, bFloating, !bFixed, !bFixed);
    pPM->DrawBarFrame(dc, _pbfd);

    bool bGripperAtTop = false, bTextOnGripper = false;
    if (!bFloating && IsBarWithGripper(&bGripperAtTop, &bTextOnGripper))
        DrawNcCaption(dc, bGripperAtTop, bActive);
    dc.RestoreDC(nSaved);
}

void CExtControlBar::DrawNcCaption(CDC& dc, bool bGripperAtTop, bool bActive)
{
    CRect rcCaption(m_rcCaption);
    const bool bGripperAtLeftOfHorzBar = !bGripperAtTop && IsDockedHorizontally();
    if (bGripperAtLeftOfHorzBar)
    {
        rcCaption.DeflateRect(0, 2);
        rcCaption.OffsetRect(-2, 0);
    }
    else
        rcCaption.DeflateRect(2, 0);
    RECT rcText = rcCaption;
    CalcCaptionTextRect(rcText);
    CString sText;
    OnGetBarCaptionText(0, sText);
    const int nSaved = dc.SaveDC();
    dc.IntersectClipRect(&rcCaption);
    CExtPaintManager::PAINTBARCAPTIONDATA _pbcd(this, rcCaption, rcText, bActive, false, bGripperAtLeftOfHorzBar,
                                                !IsFixedMode(), sText.IsEmpty() ? NULL : LPCTSTR(sText),
                                                IsLayoutRTL());
    GetPaintManager()->DrawBarCaption(dc, _pbcd);
    DrawNcAreaButtons(dc);
    dc.RestoreDC(nSaved);
}

void CExtControlBar::DrawNcAreaButtons(CDC& dc)
{
    for (INT_PTR i = 0; i < m_vNcAreaButtons.GetSize(); i++)
    {
        CExtBarNcAreaButton* pBtn = m_vNcAreaButtons[i];
        if (pBtn->OnQueryVisibility())
            pBtn->OnNcAreaDraw(dc);
    }
}

// ---- caption buttons ------------------------------------------------------------------

void CExtControlBar::CreateNcAreaButtons()
{
    if (m_vNcAreaButtons.GetSize() > 0)
        return;
    m_vNcAreaButtons.Add(new CExtBarNcAreaButtonClose(this));
    m_vNcAreaButtons.Add(new CExtBarNcAreaButtonAutoHide(this));
    m_vNcAreaButtons.Add(new CExtBarNcAreaButtonMenu(this));
}

void CExtControlBar::LayoutNcAreaButtons()
{
    CExtBarNcAreaButton* pPrev = NULL;
    for (INT_PTR i = 0; i < m_vNcAreaButtons.GetSize(); i++)
    {
        CExtBarNcAreaButton* pBtn = m_vNcAreaButtons[i];
        pBtn->OnNcAreaReposition(pPrev);
        if (pBtn->OnQueryVisibility())
            pPrev = pBtn;
    }
    if (!IsLayoutRTL())
        return;
    CExtBarNcAreaButton* pFirst = NULL;
    for (INT_PTR i = 0; i < m_vNcAreaButtons.GetSize() && pFirst == NULL; i++)
        if (m_vNcAreaButtons[i]->OnQueryVisibility())
            pFirst = m_vNcAreaButtons[i];
    RECT rcCaption;
    bool bGripperAtTop = false;
    if (pFirst == NULL || !pFirst->GetBarNcAreaInfo(&rcCaption, NULL, &bGripperAtTop) || !bGripperAtTop)
        return;
    for (INT_PTR i = 0; i < m_vNcAreaButtons.GetSize(); i++)
    {
        CExtBarNcAreaButton* pBtn = m_vNcAreaButtons[i];
        if (!pBtn->OnQueryVisibility())
            continue;
        RECT rc = pBtn->GetRect();
        const int x1 = rc.left, x2 = rc.right;
        rc.left = rcCaption.left + rcCaption.right - x2;
        rc.right = rcCaption.left + rcCaption.right - x1;
        pBtn->SetRect(rc);
    }
}

void CExtControlBar::CalcCaptionTextRect(RECT& rc) const
{
    if (m_vNcAreaButtons.GetSize() == 0)
        return;
    bool bGripperAtTop = false, bTextOnGripper = false;
    const bool bFloating = IsFloating();
    const bool bGripper = IsBarWithGripper(&bGripperAtTop, &bTextOnGripper);
    if (!bFloating && !bGripper)
        return;
    // The last visible button in array order lies innermost: the text ends before it.
    const CExtBarNcAreaButton* pLast = NULL;
    for (INT_PTR i = 0; i < m_vNcAreaButtons.GetSize(); i++)
        if (m_vNcAreaButtons[i]->OnQueryVisibility())
            pLast = m_vNcAreaButtons[i];
    if (pLast == NULL)
        return;
    const RECT& rcBtn = pLast->GetRect();
    if (bFloating || bGripperAtTop)
    {
        if (IsLayoutRTL())
        {
            rc.left = rcBtn.right + 1;
            if (rc.right < rc.left)
                rc.right = rc.left;
        }
        else
        {
            rc.right = rcBtn.left - 1;
            if (rc.left > rc.right)
                rc.left = rc.right;
        }
    }
    else
    {
        rc.top = rcBtn.bottom + 1;
        if (rc.top > rc.bottom)
            rc.top = rc.bottom;
    }
}

// ---- non-client mouse -----------------------------------------------------------------

void CExtControlBar::OnNcLButtonDown(UINT nHitTest, CPoint point)
{
    if (IsFixedMode() || IsFloating())
        return;
    if (nHitTest != HTLEFT && nHitTest != HTBOTTOM && !IsMinimizedInRow())
    {
        CExtBarNcAreaButton* pBtn = NULL;
        NcButtonsHitTest(point, &pBtn);
        if (pBtn == NULL && QueryFocusChangingEnabled(this, m_hWnd))
            SetFocus();
    }
    if (m_hWnd == NULL || m_pDockBar == NULL)
        return;
    CRect rcWnd;
    GetWindowRect(&rcWnd);
    const CPoint pt = point - rcWnd.TopLeft();
    if (::PtInRect(&m_rcRowSplitter, pt))
        RowResizeLoop();
    else if (::PtInRect(&m_rcTrailingSplitter, pt))
    {
        m_nInteractionFlags &= ~__EIF_LEADING_SPLITTER;
        if (IsTrailingSplitterMovable())
            ColumnResizeLoop();
    }
    else if (::PtInRect(&m_rcLeadingSplitter, pt))
    {
        if (IsLeadingSplitterMovable())
        {
            m_nInteractionFlags |= __EIF_LEADING_SPLITTER;
            ColumnResizeLoop();
        }
    }
}

void CExtControlBar::OnRButtonUp(UINT nFlags, CPoint point)
{
    CPoint ptScreen = point;
    ClientToScreen(&ptScreen);
    if (!TrackBarsMenu(1, ptScreen))
        CControlBar::OnRButtonUp(nFlags, point);
}

void CExtControlBar::OnNcRButtonUp(UINT nHitTest, CPoint point)
{
    if (!TrackBarsMenu(2, point))
        CControlBar::OnNcRButtonUp(nHitTest, point);
}

void CExtControlBar::OnContextMenu(CWnd* pWnd, CPoint point)
{
    CPoint ptScreen(point);
    if (point.x == -1 && point.y == -1)
        ::GetCursorPos(&ptScreen);
    CPoint ptClient(ptScreen);
    ScreenToClient(&ptClient);
    CRect rcClient;
    GetClientRect(&rcClient);
    if (rcClient.PtInRect(ptClient))
        return;
    if (!TrackBarsMenu(1, ptScreen))
        CControlBar::OnContextMenu(pWnd, point);
}

// ptCursor: where the right button was released, on the screen. It decides whether the
// click fell on the client area, and the menu opens there, wherever the pointer has gone
// since.
bool CExtControlBar::TrackBarsMenu(WORD nEventCode, CPoint ptCursor)
{
    if (IsCustomizeModeActive())
        return true;
    // Bars in a dialog leave the right click to the dialog.
    if (IsOutsideFrame(this) || m_hWnd == NULL)
        return false;
    CFrameWnd* pFrame = GetDockingFrame();
    if (pFrame == NULL || pFrame->GetSafeHwnd() == NULL || IsFrameInHelpMode(pFrame))
        return true;
    if (nEventCode == 1 && !IsFixedMode() && !CExtPaintManagerHolder::IsKindOfByName(this, "CExtPanelControlBar"))
    {
        CRect rcClient;
        GetClientRect(&rcClient);
        ClientToScreen(&rcClient);
        if (rcClient.PtInRect(ptCursor))
            return true;
    }
    HWND hWndOwner = ::GetWindow(m_hWnd, GW_OWNER);
    if (hWndOwner == NULL)
        hWndOwner = ::GetParent(m_hWnd);
    CExtPopupMenuWnd* pPopup = new CExtPopupMenuWnd;
    if (!pPopup->CreatePopupMenu(hWndOwner) ||
        !CExtDockBar::BuildBarsPopupMenu(pFrame, pPopup, nEventCode, this, WM_RBUTTONUP, NULL) || pPopup->ItemGetCount() == 0)
    {
        delete pPopup;
        return true;
    }
    const HWND hWndOwn = m_hWnd;
    if (nEventCode == 1)
    {
        HWND hWndChild = ::GetWindow(m_hWnd, GW_CHILD);
        if (hWndChild != NULL && QueryFocusChangingEnabled(this, hWndChild))
            ::SetFocus(hWndChild);
        CExtPaintManager::PumpPaintMessages();
        if (::IsWindow(hWndOwn))
        {
            m_nInteractionFlags |= __EIF_FOCUS_INSIDE;
            SendMessage(WM_NCPAINT);
        }
    }
    else if (hWndOwner != NULL && QueryFocusChangingEnabled(this, hWndOwner))
        ::SetFocus(hWndOwner);
    if (!pPopup->TrackPopupMenu(CExtPopupMenuWnd::TMF_OWNER_DRAW, ptCursor.x, ptCursor.y))
        delete pPopup;
    return true;
}

// ---- window procedure -----------------------------------------------------------------

LRESULT CExtControlBar::WindowProc(UINT nMessage, WPARAM wParam, LPARAM lParam)
{
    switch (nMessage)
    {
    case WM_CREATE:
        if (!IsFixedMode() && !IsOutsideFrame(this))
        {
            // A resizable bar needs the toolkit's dock bars in the frame it lives in.
            for (HWND hWnd = ::GetParent(m_hWnd); hWnd != NULL; hWnd = ::GetParent(hWnd))
            {
                CFrameWnd* pFrame = DYNAMIC_DOWNCAST(CFrameWnd, CWnd::FromHandlePermanent(hWnd));
                if (pFrame == NULL)
                    continue;
                if (pFrame->IsKindOf(RUNTIME_CLASS(CMiniFrameWnd)))
                    pFrame = pFrame->GetParentFrame();
                if (pFrame != NULL)
                    EnableFrameDocking(pFrame, CBRS_ALIGN_ANY, true);
                break;
            }
        }
        break;
    case WM_DESTROY:
        m_nOptionFlags |= __ESF_BUSY;
        if (AutoHideModeGet())
            AutoHideBarGoing();
        break;
    case WM_NCDESTROY:
        m_nOptionFlags |= __ESF_BUSY;
        if (m_pDockContext != NULL)
        {
            m_pDockBar = NULL;
            CDockContext* pContext = m_pDockContext;
            m_pDockContext = NULL;
            delete pContext;
        }
        break;
    case WM_SIZE:
    case WM_SHOWWINDOW:
        m_nOptionFlags |= __ESF_NC_BUTTONS_RELAYOUT;
        break;
    case WM_WINDOWPOSCHANGING:
        m_nOptionFlags |= __ESF_NC_BUTTONS_RELAYOUT;
        if (lParam != 0 && ((m_pDockBar != NULL && !IsFloating()) || IsOutsideFrame(this)))
            reinterpret_cast<WINDOWPOS*>(lParam)->flags |= SWP_FRAMECHANGED;
        break;
    case WM_SETTEXT:
    {
        m_nOptionFlags |= __ESF_NC_BUTTONS_RELAYOUT;
        const LRESULT lResult = CControlBar::WindowProc(nMessage, wParam, lParam);
        if (m_hWnd != NULL && !IsFixedMode() && !IsKindOf(RUNTIME_CLASS(CExtDynControlBar)) &&
            (GetStyle() & WS_VISIBLE) != 0)
            OnPageOrBarTextChanged();
        return lResult;
    }
    case WM_CLOSE:
        // A bar is hidden through its frame, never closed; it stays alive and keeps
        // taking command-UI updates.
        return 0;
    case WM_ERASEBKGND:
        if ((m_nOptionFlags & __ESF_WNDPROC_RESERVED) == 0)
            return 1;
        CExtPaintManager::ClipOutChildren(CDC::FromHandle(HDC(wParam)), m_hWnd);
        break;
    case WM_WINDOWPOSCHANGED:
        OnWindowPosChangedBar(reinterpret_cast<const WINDOWPOS*>(lParam));
        break;
    case WM_NCMOUSEMOVE:
        ShowCaptionButtonTip(CPoint(short(LOWORD(lParam)), short(HIWORD(lParam))));
        break;
    case WM_TIMER:
        if (wParam == 0x1005)
        {
            RedrawWindow(NULL, NULL,
                         RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_ERASENOW | RDW_FRAME);
            return 0;
        }
        break;
    case WM_PRINT:
    case WM_PRINTCLIENT:
        PrintBar(HDC(wParam), lParam);
        return 1;
    default:
        break;
    }
    return CControlBar::WindowProc(nMessage, wParam, lParam);
}

void CExtControlBar::OnPageOrBarTextChanged()
{
    CExtDynTabControlBar* pGroup = GetTabbedContainer();
    if (pGroup == NULL || pGroup->m_hWnd == NULL)
    {
        RecalcNcFrame();
        return;
    }
    // The tab shows the new text; the group's caption does too when the page is selected.
    pGroup->m_wndTabSwitcher.UpdateTabWnd(true);
    if ((pGroup->GetStyle() & WS_VISIBLE) != 0)
        pGroup->SendMessage(WM_NCPAINT);
    CFrameWnd* pFrame = pGroup->GetParentFrame();
    if (pFrame != NULL)
    {
        pFrame->m_nIdleFlags |= CFrameWnd::idleLayout | CFrameWnd::idleNotify;
        pFrame->PostMessage(WM_NULL);
    }
    if (pGroup->GetSelectedBar() == this)
    {
        CString sText;
        GetWindowText(sText);
        pGroup->SetWindowText(sText);
    }
    if (pFrame != NULL && pFrame->m_hWnd != NULL)
        pFrame->RecalcLayout();
}

void CExtControlBar::HideTipAndNotifyCustomizeSite()
{
    CExtPopupMenuTipWnd* pTip = GetBarTipWnd();
    if (pTip != NULL)
        pTip->Hide();
    CExtCustomizeSite* pSite = CExtCustomizeSite::GetCustomizeSite(m_hWnd);
    if (pSite != NULL)
        pSite->OnBarStateChanged(this);
}

void CExtControlBar::OnWindowPosChangedBar(const WINDOWPOS* pWP)
{
    HideTipAndNotifyCustomizeSite();
    if (!((m_pDockBar != NULL && !IsFloating()) || IsOutsideFrame(this)))
        return;
    if (!IsFixedMode())
        OnBarVisibilityChanged();
    if (m_hWnd == NULL)
        return;
    CExtControlBar* pCaptionOwner = GetTabbedContainer();
    if (pCaptionOwner == NULL || pCaptionOwner->m_hWnd == NULL)
        pCaptionOwner = this;
    pCaptionOwner->m_nOptionFlags |= __ESF_NC_BUTTONS_RELAYOUT;
    pCaptionOwner->PostMessage(WM_NCPAINT);
    if (pWP != NULL && (pWP->flags & SWP_FRAMECHANGED) == 0)
        RecalcNcFrame();
}

void CExtControlBar::ShowCaptionButtonTip(CPoint ptScreen)
{
    CExtPopupMenuTipWnd* pTip = GetBarTipWnd();
    if (pTip == NULL)
        return;
    CExtBarNcAreaButton* pBtn = NULL;
    NcButtonsHitTest(ptScreen, &pBtn);
    if (pBtn == NULL)
        return;
    TOOLINFO ti;
    ::ZeroMemory(&ti, sizeof(ti));
    ti.cbSize = AFX_OLDTOOLINFO_SIZE;
    CPoint ptClient(ptScreen);
    ScreenToClient(&ptClient);
    pBtn->OnToolHitTest(ptClient, &ti);
    if (ti.lpszText == NULL || ti.lpszText == LPSTR_TEXTCALLBACK)
        return;
    if (*ti.lpszText != '\0')
    {
        // The button rectangle is relative to the window that shows the caption.
        CWnd* pRefWnd = (IsFloating() && GetParentFrame() != NULL) ? static_cast<CWnd*>(GetParentFrame()) : this;
        CRect rcRef;
        pRefWnd->GetWindowRect(&rcRef);
        CRect rcBtn(pBtn->GetRect());
        rcBtn.OffsetRect(rcRef.TopLeft());
        ShowBarTip(pTip, rcBtn, ti.lpszText);
    }
    ::free(ti.lpszText);
}

void CExtControlBar::PrintBar(HDC hDC, LPARAM lParamPrint)
{
    if (hDC == NULL || m_hWnd == NULL)
        return;
    CDC* pDC = CDC::FromHandle(hDC);
    CRect rcWnd, rcClient;
    GetWindowAndClientRects(this, rcWnd, rcClient);
    if (IsFloating() && GetParentFrame() != NULL)
    {
        CRect rcFrameClient;
        GetParentFrame()->GetClientRect(&rcFrameClient);
        rcClient.right = std::min(rcClient.right, rcClient.left + rcFrameClient.Width());
        rcClient.bottom = std::min(rcClient.bottom, rcClient.top + rcFrameClient.Height());
    }
    if ((lParamPrint & PRF_NONCLIENT) != 0)
    {
        const int nSaved = pDC->SaveDC();
        CRgn rgn;
        rgn.CreateRectRgnIndirect(&rcWnd);
        pDC->SelectClipRgn(&rgn);
        pDC->ExcludeClipRect(&rcClient);
        DrawNcArea(*pDC);
        pDC->RestoreDC(nSaved);
    }
    if ((lParamPrint & (PRF_CLIENT | PRF_ERASEBKGND)) != 0 && !rcClient.IsRectEmpty())
    {
        POINT ptOld;
        ::OffsetViewportOrgEx(hDC, rcClient.left, rcClient.top, &ptOld);
        CDC dcMem;
        CBitmap bmp;
        if (dcMem.CreateCompatibleDC(pDC) && bmp.CreateCompatibleBitmap(pDC, rcClient.Width(), rcClient.Height()))
        {
            CBitmap* pOld = dcMem.SelectObject(&bmp);
            OnPaintBackground(dcMem);
            DoPaint(&dcMem);
            pDC->BitBlt(0, 0, rcClient.Width(), rcClient.Height(), &dcMem, 0, 0, SRCCOPY);
            dcMem.SelectObject(pOld);
        }
        ::SetViewportOrgEx(hDC, ptOld.x, ptOld.y, NULL);
    }
    if ((lParamPrint & PRF_CHILDREN) != 0)
        CExtPaintManager::PrintChildWindows(m_hWnd, WM_PRINT, hDC, lParamPrint, true);
}

// ---- message pre-translation ----------------------------------------------------------

BOOL CExtControlBar::PreTranslateMessage(MSG* pMsg)
{
    if (pMsg == NULL || m_hWnd == NULL)
        return FALSE;
    if (CControlBar::PreTranslateMessage(pMsg))
        return TRUE;
    // A bar nested in a container lets the container's dock bar see the message first
    // (a tabbed group's strip switches pages by keyboard there).
    CExtDockDynBar* pNested = DYNAMIC_DOWNCAST(CExtDockDynBar, m_pDockBar);
    if (pNested != NULL && pNested->m_hWnd != NULL && pNested->PreTranslateMessage(pMsg))
        return TRUE;
    if (IsFrameInHelpMode(GetTopLevelFrame()))
        return FALSE;
    if (!IsOutsideFrame(this))
    {
        CWnd* pOwner = GetOwner();
        CWnd* pPrev = NULL;
        for (CWnd* pWnd = pOwner; pWnd != NULL && pWnd != pPrev && pWnd->GetSafeHwnd() != NULL;)
        {
            if (pWnd->PreTranslateMessage(pMsg))
                return TRUE;
            pPrev = pWnd;
            pWnd = pWnd->GetParentFrame();
        }
    }
    const bool bKey = pMsg->message >= WM_KEYFIRST && pMsg->message <= WM_KEYLAST;
    HWND hWndChild = ::GetWindow(m_hWnd, GW_CHILD);
    if (bKey && hWndChild != NULL && pMsg->hwnd != NULL &&
        (pMsg->hwnd == hWndChild || ::IsChild(hWndChild, pMsg->hwnd)))
    {
        ::TranslateMessage(pMsg);
        ::DispatchMessage(pMsg);
        return TRUE;
    }
    return PreTranslateInput(pMsg);
}

// ---- paint-manager change -------------------------------------------------------------

void CExtControlBar::OnPaintManagerInstalled(CExtPaintManager* pPM)
{
    if (m_hWnd == NULL || !::IsWindow(m_hWnd))
        return;
    RefreshNcMetrics();
    if (pPM != GetPaintManager())
        return;
    SetWindowPos(NULL, 0, 0, 0, 0,
                 SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED | SWP_NOOWNERZORDER);
    RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

// ---- drag hooks -----------------------------------------------------------------------

void CExtControlBar::OnStartDragging()
{
    CWnd::CancelToolTips();
    CExtPopupMenuWnd::CancelMenuTracking();
    if (m_hWnd == NULL)
        return;
    CExtDynTabControlBar* pGroup = GetTabbedContainer();
    if (pGroup != NULL)
        pGroup->RememberDraggedTab(this);
    HWND hWndFrame = ::GetWindow(m_hWnd, GW_OWNER);
    if (hWndFrame == NULL)
        hWndFrame = ::GetParent(m_hWnd);
    if (hWndFrame != NULL)
        ::SendMessage(hWndFrame, WM_SETMESSAGESTRING, 30057, 0);
}

// ---- tracked areas --------------------------------------------------------------------

bool CExtControlBar::DRAW_TRACKED_AREA_DATA::Notify()
{
    m_nFlags &= ~0x02;
    if (m_pBar == NULL || m_pBar->GetSafeHwnd() == NULL)
        return false;
    CFrameWnd* pFrame = m_pBar->GetParentFrame();
    if (pFrame != NULL && pFrame->IsKindOf(RUNTIME_CLASS(CExtMiniDockFrameWnd)))
        pFrame = pFrame->GetParentFrame();
    if (pFrame == NULL || pFrame->GetSafeHwnd() == NULL)
        return false;
    pFrame->SendMessage(g_nMsgDrawTrackedArea, (WPARAM)this);
    return (m_nFlags & 0x02) != 0;
}

void CExtControlBar::DRAW_TRACKED_AREA_DATA::Draw()
{
    if (!Notify())
        DrawDefault();
}

void CExtControlBar::DRAW_TRACKED_AREA_DATA::DrawDefault()
{
    if (m_pDC == NULL || m_pDC->GetSafeHdc() == NULL || ::IsRectEmpty(&m_rcArea))
        return;
    HDC hDC = m_pDC->GetSafeHdc();
    CBrush* pBrush = CDC::GetHalftoneBrush();
    HGDIOBJ hOldBrush = ::SelectObject(hDC, pBrush->GetSafeHandle());
    const RECT& rc = m_rcArea;
    if (m_nKind == 0 || m_nKind == 1)
    {
        ::PatBlt(hDC, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, PATINVERT);
    }
    else if (m_nKind == 2 || m_nKind == 3)
    {
        HRGN hRgn = TrackedFrameRegion();
        if (hRgn != NULL)
        {
            const int nSaved = ::SaveDC(hDC);
            ::ExtSelectClipRgn(hDC, hRgn, RGN_AND);
            ::PatBlt(hDC, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, PATINVERT);
            ::RestoreDC(hDC, nSaved);
            ::DeleteObject(hRgn);
        }
    }
    ::SelectObject(hDC, hOldBrush);
}

HRGN CExtControlBar::DRAW_TRACKED_AREA_DATA::TrackedFrameRegion() const
{
    const int cx = ::GetSystemMetrics(SM_CXFRAME), cy = ::GetSystemMetrics(SM_CYFRAME);
    RECT rcBody = m_rcArea;
    if (m_nKind == 2)
    {
        HRGN hOuter = ::CreateRectRgnIndirect(&rcBody);
        RECT rcInner = rcBody;
        ::InflateRect(&rcInner, -cx, -cy);
        HRGN hInner = ::CreateRectRgnIndirect(&rcInner);
        ::CombineRgn(hOuter, hOuter, hInner, RGN_DIFF);
        ::DeleteObject(hInner);
        return hOuter;
    }
    // A body with a tab below it (or above it): the outline of both as one shape.
    const int nHeight = rcBody.bottom - rcBody.top, nWidth = rcBody.right - rcBody.left;
    const int nTabDepth = (nHeight < 36) ? nHeight / 2 : 18;
    const int nTabWidth = std::min(36, nWidth / 2);
    bool bRTL = false;
    if (m_pBar != NULL && m_pBar->GetSafeHwnd() != NULL)
    {
        CFrameWnd* pFrame = m_pBar->GetParentFrame();
        bRTL = pFrame != NULL && (pFrame->GetExStyle() & WS_EX_LAYOUTRTL) != 0;
    }
    RECT rcTab = rcBody;
    if (g_bTabsAtTop)
    {
        rcTab.bottom = rcTab.top + nTabDepth;
        rcBody.top = rcTab.bottom;
    }
    else
    {
        rcTab.top = rcTab.bottom - nTabDepth;
        rcBody.bottom = rcTab.top;
    }
    if (bRTL)
    {
        rcTab.right = rcTab.right - 8;
        rcTab.left = rcTab.right - nTabWidth;
    }
    else
    {
        rcTab.left = rcTab.left + 8;
        rcTab.right = rcTab.left + nTabWidth;
    }
    HRGN hShape = ::CreateRectRgnIndirect(&rcBody);
    HRGN hTab = ::CreateRectRgnIndirect(&rcTab);
    ::CombineRgn(hShape, hShape, hTab, RGN_OR);
    RECT rcBodyIn = rcBody, rcTabIn = rcTab;
    ::InflateRect(&rcBodyIn, -cx, -cy);
    ::InflateRect(&rcTabIn, -cx, -cy);
    // The joint between body and tab stays open.
    if (g_bTabsAtTop)
        rcTabIn.bottom = rcBodyIn.top;
    else
        rcTabIn.top = rcBodyIn.bottom;
    HRGN hInner = ::CreateRectRgnIndirect(&rcBodyIn);
    HRGN hTabIn = ::CreateRectRgnIndirect(&rcTabIn);
    if (!::IsRectEmpty(&rcTabIn))
        ::CombineRgn(hInner, hInner, hTabIn, RGN_OR);
    ::CombineRgn(hShape, hShape, hInner, RGN_DIFF);
    ::DeleteObject(hTab);
    ::DeleteObject(hInner);
    ::DeleteObject(hTabIn);
    return hShape;
}
