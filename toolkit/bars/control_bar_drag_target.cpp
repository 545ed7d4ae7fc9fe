// Where a dragged bar would go: every cursor position becomes a drag state. Resizable
// bars ask the markers, the caption bands of floating bars, the frame's dock-bar edges and
// the edge bands of a docked bar, in this order; fixed bars (toolbars) move live into the
// frame's outer dock bars. The band arithmetic works on plain rectangles.
#include "toolkit/bars/control_bar.h"
#include <algorithm>
#include "toolkit/bars/drag_tab_strip.h"
#include "toolkit/bars/dyn_tab_wnd.h"
#include "toolkit/bars/dyn_tab_control_bar.h"

typedef CExtControlBar::InternalDraggingState_t DragState;

namespace {

const int kCaptionBand = 32;
const int kRingOneBand = 16;
const int kRingEdgeBand = 12;
const int kAreaInflate = 12;
const int kClientInflate = 32;
const int kSingleBarMaxHalfRule = 64;
const int kMinExtent = 8;

bool PtIn(const RECT& rc, POINT pt) { return ::PtInRect(&rc, pt) != FALSE; }

CExtDockBar* FrameDockBar(CFrameWnd* pFrame, UINT nID)
{
    return pFrame != NULL ? DYNAMIC_DOWNCAST(CExtDockBar, pFrame->GetControlBar(nID)) : NULL;
}

DWORD AlignOfDockBar(UINT nID)
{
    switch (nID)
    {
    case AFX_IDW_DOCKBAR_TOP: return CBRS_ALIGN_TOP;
    case AFX_IDW_DOCKBAR_BOTTOM: return CBRS_ALIGN_BOTTOM;
    case AFX_IDW_DOCKBAR_LEFT: return CBRS_ALIGN_LEFT;
    case AFX_IDW_DOCKBAR_RIGHT: return CBRS_ALIGN_RIGHT;
    default: return CBRS_ALIGN_TOP;  // a floating target counts as top
    }
}

}  // namespace

CExtControlBar::BandQuery::BandQuery()
    : m_bTabMates(true), m_bNeighbours(true), m_bDstIsContainer(false), m_nBand(kCaptionBand), m_nMaxHalfRule(0)
{
    ::SetRectEmpty(&m_rcTarget);
    ::SetRectEmpty(&m_rcStrip);
    ::SetRectEmpty(&m_rcDockBar);
    m_sizeMinSrc.cx = m_sizeMinSrc.cy = kMinExtent;
    m_sizeMinDst.cx = m_sizeMinDst.cy = kMinExtent;
}

int CExtControlBar::CalcBandTarget(const BandQuery& q, POINT pt, RECT& rcTrack, bool& bRefused)
{
    bRefused = false;
    ::SetRectEmpty(&rcTrack);
    const RECT& R = q.m_rcTarget;
    if (!PtIn(R, pt))
        return 0;
    const int cx = R.right - R.left, cy = R.bottom - R.top;
    auto capped = [&q](int n) { return q.m_nMaxHalfRule > 0 ? std::min(n, q.m_nMaxHalfRule) : n; };
    const int nMinSrcX = capped(q.m_sizeMinSrc.cx), nMinSrcY = capped(q.m_sizeMinSrc.cy);
    const int nMinDstX = capped(q.m_sizeMinDst.cx), nMinDstY = capped(q.m_sizeMinDst.cy);
    const bool bStrip = !::IsRectEmpty(&q.m_rcStrip);
    const int yBottom = bStrip ? q.m_rcStrip.top : R.bottom;
    int nKind = 0;
    const bool bTopPart = cx >= q.m_sizeMinSrc.cx && cy / 2 >= nMinSrcY && cy / 2 >= nMinDstY;
    if (bTopPart)
    {
        int yAbove = R.top;
        if (q.m_bTabMates)
        {
            if (pt.y < R.top + q.m_nBand)
            {
                rcTrack = R;
                return (q.m_bDstIsContainer && bStrip) ? 28 : 27;
            }
            yAbove = R.top + q.m_nBand;
        }
        if (!q.m_bNeighbours)
        {
            bRefused = true;
            return 0;
        }
        const int nLeft = ::IsRectEmpty(&q.m_rcDockBar) ? R.left : std::min(R.left, q.m_rcDockBar.left);
        const int nRight = ::IsRectEmpty(&q.m_rcDockBar) ? R.right : std::max(R.right, q.m_rcDockBar.right);
        if (pt.y >= yAbove && pt.y < yAbove + q.m_nBand)
        {
            ::SetRect(&rcTrack, nLeft, R.top, nRight, R.top + cy / 2);
            nKind = 1;
        }
        else if (q.m_bTabMates && q.m_bDstIsContainer && bStrip && PtIn(q.m_rcStrip, pt))
        {
            rcTrack = R;
            return 29;
        }
        else if (pt.y >= yBottom - q.m_nBand && pt.y < yBottom)
        {
            ::SetRect(&rcTrack, nLeft, R.top + cy / 2, nRight, yBottom);
            nKind = 2;
        }
    }
    if (nKind == 0)
    {
        if (!q.m_bNeighbours)
        {
            bRefused = true;
            return 0;
        }
        if (cy >= q.m_sizeMinSrc.cy && cx / 2 >= nMinSrcX && cx / 2 >= nMinDstX)
        {
            if (pt.x < R.left + q.m_nBand)
            {
                ::SetRect(&rcTrack, R.left, R.top, R.left + cx / 2, R.bottom);
                nKind = 3;
            }
            else if (pt.x >= R.right - q.m_nBand)
            {
                ::SetRect(&rcTrack, R.right - cx / 2, R.top, R.right, R.bottom);
                nKind = 4;
            }
        }
    }
    if (nKind != 0 && (rcTrack.right - rcTrack.left < q.m_sizeMinSrc.cx ||
                       rcTrack.bottom - rcTrack.top < q.m_sizeMinSrc.cy))
    {
        ::SetRectEmpty(&rcTrack);
        nKind = 0;
    }
    return nKind;
}

int CExtControlBar::CalcRingOneTarget(const RECT& rcArea, POINT pt, DWORD dwDockStyle, SIZE sizeDockedH,
                                      SIZE sizeDockedV, RECT& rcTrack)
{
    ::SetRectEmpty(&rcTrack);
    if (!PtIn(rcArea, pt))
        return 0;
    if ((dwDockStyle & CBRS_ALIGN_TOP) != 0 && pt.y < rcArea.top + kRingOneBand)
    {
        ::SetRect(&rcTrack, rcArea.left, rcArea.top, rcArea.right, rcArea.top + sizeDockedH.cy);
        return 9;
    }
    if ((dwDockStyle & CBRS_ALIGN_BOTTOM) != 0 && pt.y >= rcArea.bottom - kRingOneBand)
    {
        ::SetRect(&rcTrack, rcArea.left, rcArea.bottom - sizeDockedH.cy, rcArea.right, rcArea.bottom);
        return 10;
    }
    if ((dwDockStyle & CBRS_ALIGN_LEFT) != 0 && pt.x < rcArea.left + kRingOneBand)
    {
        ::SetRect(&rcTrack, rcArea.left, rcArea.top, rcArea.left + sizeDockedV.cx, rcArea.bottom);
        return 11;
    }
    if ((dwDockStyle & CBRS_ALIGN_RIGHT) != 0 && pt.x >= rcArea.right - kRingOneBand)
    {
        ::SetRect(&rcTrack, rcArea.right - sizeDockedV.cx, rcArea.top, rcArea.right, rcArea.bottom);
        return 12;
    }
    return 0;
}

// ---- resizable bars ------------------------------------------------------------------------

void DragState::CalcDockTarget(int x, int y, bool bNoDocking)
{
    CExtControlBar* pSrc = m_pBarSrc;
    if (pSrc == NULL || pSrc->GetSafeHwnd() == NULL)
        return;
    if (pSrc->IsFixedDockStyle())
    {
        CalcFixedBarTarget(x, y, bNoDocking);
        return;
    }
    const int nMarkerStyle = pSrc->QueryDockMarkerStyle();
    const POINT pt = {x, y};
    if (pSrc->UsesDockMarkerDrag() && nMarkerStyle != 1 && !pSrc->IsFloating() && pSrc->IsDockedAtFrameSide() &&
        pSrc->m_pDockBar != NULL && pSrc->m_pDockBar->GetSafeHwnd() != NULL)
    {
        CRect rcDock;
        pSrc->m_pDockBar->GetWindowRect(&rcDock);
        if (rcDock.PtInRect(pt))
            return;
    }
    ::SetRectEmpty(&m_rcTrack);
    m_nKind = 0;
    m_nRing = 0;
    SetTargetBar(NULL);
    SetPartOfTarget(false);
    if (nMarkerStyle == 1 && !bNoDocking && pSrc->IsFloating() && CalcMarkerTarget(x, y))
        return;
    bool bRefused = false;
    bool bCaptionSkipped = true;
    if (!bNoDocking && pSrc->CanDockBesideOtherBars())
    {
        bCaptionSkipped = false;
        if (CalcCaptionTarget(x, y, bRefused))
            return;
    }
    if (!bNoDocking && nMarkerStyle != 1 && CalcFrameTarget(x, y))
        return;
    // Off every marker, the edges of a docked bar still take the bar beside it.
    if (!bNoDocking && !bRefused && CalcSingleBarTarget(x, y, bCaptionSkipped))
        return;
    CalcFloatTarget(x, y);
}

bool DragState::CalcMarkerTarget(int x, int y)
{
    const POINT pt = {x, y};
    CExtDynDockMarkerWnd* pMarker = CExtDynDockMarkerWnd::FromHandleMarker(::WindowFromPoint(pt));
    if (pMarker == NULL || !pMarker->IsDockingKind())
        return false;
    int nKind = pMarker->GetDockSideCode();
    const HWND hWndTarget = pMarker->GetTargetWnd();
    if (hWndTarget != NULL && !::IsWindow(hWndTarget))
        nKind = 0;
    CExtControlBar* pTarget =
        hWndTarget != NULL ? DYNAMIC_DOWNCAST(CExtControlBar, CWnd::FromHandlePermanent(hWndTarget)) : NULL;
    if (nKind == 26)
    {
        if (pTarget != NULL && AreTabMates(m_pBarSrc, pTarget))
        {
            SetTargetBar(pTarget);
            pTarget->GetWindowRect(&m_rcTrack);
            if (pTarget->IsKindOf(RUNTIME_CLASS(CExtDynTabControlBar)) && DragTabStrip::IsVisible(pTarget))
            {
                nKind = 30;
                const int nIndex = DragTabStrip::HitTestScreen(pTarget, pt);
                m_nTabIndex = nIndex >= 0 ? nIndex : DragTabStrip::ItemCount(pTarget);
            }
        }
        else
            nKind = 0;
    }
    else if (nKind >= 22 && nKind <= 25)
    {
        if (pTarget != NULL && AreNeighbours(m_pBarSrc, pTarget))
        {
            SetTargetBar(pTarget);
            pTarget->GetWindowRect(&m_rcTrack);
        }
        else
            nKind = 0;
    }
    else if (nKind >= 14 && nKind <= 21)
        pMarker->GetWindowRect(&m_rcTrack);
    else
        nKind = 0;
    // Over a marker the cursor means the marker: a marker that docks nothing floats.
    if (nKind == 0)
    {
        CalcFloatTarget(x, y);
        return true;
    }
    m_nKind = nKind;
    return true;
}

void CExtControlBar::FillBandPair(BandQuery& q, CExtControlBar* pSrc, CExtControlBar* pTarget)
{
    q.m_sizeMinSrc.cx = std::max(pSrc->GetMinHorzExtent(), kMinExtent);
    q.m_sizeMinSrc.cy = std::max(pSrc->GetMinVertExtent(), kMinExtent);
    q.m_sizeMinDst.cx = std::max(pTarget->GetMinHorzExtent(), kMinExtent);
    q.m_sizeMinDst.cy = std::max(pTarget->GetMinVertExtent(), kMinExtent);
    q.m_bTabMates = AreTabMates(pSrc, pTarget);
    q.m_bNeighbours = AreNeighbours(pSrc, pTarget);
    q.m_bDstIsContainer = pTarget->IsKindOf(RUNTIME_CLASS(CExtDynTabControlBar));
    if (q.m_bDstIsContainer && DragTabStrip::IsVisible(pTarget))
        DragTabStrip::Find(pTarget)->GetWindowRect(&q.m_rcStrip);
}

bool DragState::CalcCaptionTarget(int x, int y, bool& bRefused)
{
    CExtControlBar* pSrc = m_pBarSrc;
    CArray<CExtControlBar*, CExtControlBar*> arrBars;
    CExtControlBar::GetFrameControlBars(pSrc, pSrc->GetDockingFrame(), arrBars, 0x8584, CPoint(x, y));
    CExtControlBar* pTarget = NULL;
    for (INT_PTR i = 0; i < arrBars.GetSize() && pTarget == NULL; i++)
        if (arrBars[i] != pSrc)
            pTarget = arrBars[i];
    if (pTarget == NULL || (pSrc->m_dwDockStyle & CBRS_ALIGN_ANY) == 0)
        return false;
    CFrameWnd* pFrame = pTarget->GetParentFrame();
    BandQuery q;
    if (pFrame != NULL)
        pFrame->GetWindowRect(&q.m_rcTarget);
    else
        pTarget->GetWindowRect(&q.m_rcTarget);
    FillBandPair(q, pSrc, pTarget);
    if (pTarget->m_pDockBar != NULL && pTarget->m_pDockBar->GetSafeHwnd() != NULL && !pTarget->IsFloating())
        pTarget->m_pDockBar->GetWindowRect(&q.m_rcDockBar);
    // A bar that lost its dock bar (its dock bar went away) counts as one outside the
    // toolkit's dock bars.
    const bool bPart = pTarget->m_pDockBar == NULL || !pTarget->m_pDockBar->IsKindOf(RUNTIME_CLASS(CExtDockBar)) ||
                       pTarget->IsFloating();
    return TakeBandTarget(q, pTarget, x, y, bPart, bRefused);
}

bool DragState::TakeBandTarget(const BandQuery& q, CExtControlBar* pTarget, int x, int y, bool bPartOfTarget,
                               bool& bRefused)
{
    RECT rcTrack;
    const int nKind = CalcBandTarget(q, CPoint(x, y), rcTrack, bRefused);
    if (nKind == 0)
        return false;
    SetTargetBar(pTarget);
    m_nKind = nKind;
    m_rcTrack = rcTrack;
    SetPartOfTarget(bPartOfTarget && nKind < 27);
    if (nKind == 29)
        SetTabIndexFromPoint(x, y);
    return true;
}

bool DragState::CalcFrameTarget(int x, int y)
{
    CExtControlBar* pSrc = m_pBarSrc;
    CFrameWnd* pFrame = pSrc->m_pDockSite;
    if (pFrame == NULL || pFrame->GetSafeHwnd() == NULL)
        return false;
    const POINT pt = {x, y};
    static const UINT ids[4] = {AFX_IDW_DOCKBAR_TOP, AFX_IDW_DOCKBAR_BOTTOM, AFX_IDW_DOCKBAR_LEFT,
                                AFX_IDW_DOCKBAR_RIGHT};
    CExtDockBar* pDock[4];
    for (int i = 0; i < 4; i++)
    {
        pDock[i] = FrameDockBar(pFrame, ids[i]);
        if (pDock[i] == NULL)
            return false;
    }
    CRect rcArea(pDock[2]->GetInnerEdgeRect().right, pDock[0]->GetInnerEdgeRect().bottom,
                 pDock[3]->GetInnerEdgeRect().left, pDock[1]->GetInnerEdgeRect().top);
    rcArea.InflateRect(kAreaInflate, kAreaInflate);
    const DWORD dwDockStyle = pSrc->m_dwDockStyle;
    if (PtIn(rcArea, pt))
    {
        RECT rcTrack;
        const int nKind = CalcRingOneTarget(rcArea, pt, dwDockStyle, pSrc->m_sizeDockedH, pSrc->m_sizeDockedV,
                                            rcTrack);
        if (nKind == 0)
            return false;
        m_nKind = nKind;
        m_nRing = 1;
        m_rcTrack = rcTrack;
        return true;
    }
    CRect rcClient;
    pFrame->GetClientRect(&rcClient);
    CExtControlBar::RepositionBarsEx(pFrame, 0, 0xFFFF, AFX_IDW_PANE_FIRST, reposQuery, &rcClient, &rcClient);
    pFrame->ClientToScreen(&rcClient);
    rcClient.InflateRect(kClientInflate, kClientInflate);
    if (!rcClient.PtInRect(pt))
        return false;
    for (int i = 0; i < 4; i++)
    {
        const DWORD dwAlign = AlignOfDockBar(ids[i]);
        if ((dwDockStyle & dwAlign) == 0)
            continue;
        for (CExtDockBar* p = pDock[i]; p != NULL; p = p->GetInnerNeighbour())
        {
            if (p->GetSafeHwnd() == NULL)
                continue;
            CRect rcDock;
            p->GetWindowRect(&rcDock);
            if (p == pSrc->m_pDockBar && rcDock.PtInRect(pt))
            {
                m_nKind = 13;
                pSrc->GetWindowRect(&m_rcTrack);
                return true;
            }
            if ((p->GetStyle() & WS_VISIBLE) == 0 || rcDock.IsRectEmpty())
                continue;
            CRect rcBand(rcDock), rcTrack(rcDock);
            const int cyH = pSrc->m_sizeDockedH.cy, cxV = pSrc->m_sizeDockedV.cx;
            switch (ids[i])
            {
            case AFX_IDW_DOCKBAR_TOP:
                rcBand.SetRect(rcDock.left, rcDock.bottom, rcDock.right, rcDock.bottom + kRingEdgeBand);
                rcTrack.SetRect(rcDock.left, rcDock.bottom, rcDock.right, rcDock.bottom + cyH);
                break;
            case AFX_IDW_DOCKBAR_BOTTOM:
                rcBand.SetRect(rcDock.left, rcDock.top - kRingEdgeBand, rcDock.right, rcDock.top);
                rcTrack.SetRect(rcDock.left, rcDock.top - cyH, rcDock.right, rcDock.top);
                break;
            case AFX_IDW_DOCKBAR_LEFT:
                rcBand.SetRect(rcDock.right, rcDock.top, rcDock.right + kRingEdgeBand, rcDock.bottom);
                rcTrack.SetRect(rcDock.right, rcDock.top, rcDock.right + cxV, rcDock.bottom);
                break;
            default:
                rcBand.SetRect(rcDock.left - kRingEdgeBand, rcDock.top, rcDock.left, rcDock.bottom);
                rcTrack.SetRect(rcDock.left - cxV, rcDock.top, rcDock.left, rcDock.bottom);
                break;
            }
            if (!rcBand.PtInRect(pt))
                continue;
            m_nKind = 5 + i;
            m_nRing = int(p->GetCircleNo()) + 1;
            m_rcTrack = rcTrack;
            return true;
        }
    }
    return false;
}

bool DragState::CalcSingleBarTarget(int x, int y, bool)
{
    CExtControlBar* pSrc = m_pBarSrc;
    CArray<CExtControlBar*, CExtControlBar*> arrBars;
    CExtControlBar::GetFrameControlBars(NULL, pSrc->GetDockingFrame(), arrBars, 0x857C, CPoint(x, y));
    if (arrBars.GetSize() != 1)
        return false;
    CExtControlBar* pTarget = arrBars[0];
    if (pTarget == pSrc)
    {
        // With markers a docked bar leaves its place as soon as it is dragged, and
        // follows the cursor floating; over its own window it is no target of itself.
        if (pSrc->QueryDockMarkerStyle() == 1)
            return false;
        m_nKind = 13;
        pSrc->GetWindowRect(&m_rcTrack);
        return true;
    }
    if ((pSrc->m_dwDockStyle & AlignOfDockBar(pTarget->GetDockBarCtrlID())) == 0)
        return false;
    BandQuery q;
    pTarget->GetWindowRect(&q.m_rcTarget);
    FillBandPair(q, pSrc, pTarget);
    q.m_nMaxHalfRule = kSingleBarMaxHalfRule;
    bool bRefused = false;
    return TakeBandTarget(q, pTarget, x, y, true, bRefused);
}

void DragState::CalcFloatTarget(int x, int y)
{
    SetTargetBar(NULL);
    m_nKind = 0;
    m_nRing = 0;
    SetPartOfTarget(false);
    if (m_pBarSrc != NULL)
        m_rcTrack = m_pBarSrc->CalcFloatingRectAt(x, y);
}

// ---- fixed bars --------------------------------------------------------------------------------

void DragState::CalcFixedBarTarget(int x, int y, bool bNoDocking)
{
    CExtControlBar* pSrc = m_pBarSrc;
    if (pSrc == NULL || pSrc->GetSafeHwnd() == NULL)
        return;
    ::SetRectEmpty(&m_rcTrack);
    CFrameWnd* pFrame = pSrc->m_pDockSite;
    const POINT pt = {x, y};
    bool bFloat = bNoDocking || ::GetKeyState(VK_CONTROL) < 0 || pFrame == NULL || pFrame->GetSafeHwnd() == NULL;
    CRect rcFrame;
    if (!bFloat)
    {
        pFrame->GetWindowRect(&rcFrame);
        rcFrame.InflateRect(2 * ::GetSystemMetrics(SM_CXBORDER), 2 * ::GetSystemMetrics(SM_CYBORDER));
        bFloat = !rcFrame.PtInRect(pt);
    }
    if (!bFloat)
    {
        static const UINT ids[4] = {AFX_IDW_DOCKBAR_TOP, AFX_IDW_DOCKBAR_BOTTOM, AFX_IDW_DOCKBAR_LEFT,
                                    AFX_IDW_DOCKBAR_RIGHT};
        CDockBar* pDock[4] = {NULL, NULL, NULL, NULL};
        bool bNear[4] = {false, false, false, false};
        bool bVisible[4] = {false, false, false, false};
        CRect rcCand[4];
        for (int i = 0; i < 4; i++)
            pDock[i] = DYNAMIC_DOWNCAST(CDockBar, pFrame->GetControlBar(ids[i]));
        CRect rcTop = rcFrame, rcBottom = rcFrame;
        for (int i = 0; i < 4; i++)
        {
            if (pDock[i] == NULL || pDock[i]->GetSafeHwnd() == NULL)
                continue;
            bVisible[i] = (pDock[i]->GetStyle() & WS_VISIBLE) != 0;
            CRect rc;
            if (bVisible[i])
                pDock[i]->GetWindowRect(&rc);
            else
            {
                pFrame->GetWindowRect(&rc);
                switch (ids[i])
                {
                case AFX_IDW_DOCKBAR_TOP: rc.bottom = rc.top; break;
                case AFX_IDW_DOCKBAR_BOTTOM: rc.top = rc.bottom; break;
                case AFX_IDW_DOCKBAR_LEFT: rc.right = rc.left; break;
                default: rc.left = rc.right; break;
                }
            }
            switch (ids[i])
            {
            case AFX_IDW_DOCKBAR_TOP:
                rc.bottom += kRingEdgeBand;
                rcTop = rc;
                break;
            case AFX_IDW_DOCKBAR_BOTTOM:
                rc.top -= kRingEdgeBand;
                rcBottom = rc;
                break;
            case AFX_IDW_DOCKBAR_LEFT: rc.right += kRingEdgeBand; break;
            default: rc.left -= kRingEdgeBand; break;
            }
            rcCand[i] = rc;
        }
        for (int i = 2; i < 4; i++)
        {
            rcCand[i].top = std::min(rcCand[i].top, LONG(rcTop.bottom - kRingEdgeBand));
            rcCand[i].bottom = std::max(rcCand[i].bottom, LONG(rcBottom.top + kRingEdgeBand));
        }
        const int nNear = ::MulDiv(kRingEdgeBand, 3, 2);
        for (int i = 0; i < 4; i++)
        {
            if (pDock[i] == NULL)
                continue;
            CRect rc(rcCand[i]);
            rc.InflateRect(nNear, nNear);
            bNear[i] = rc.PtInRect(pt) != FALSE;
        }
        // The dock bar that holds the bar now first, then the visible ones, then the hidden.
        for (int i = 0; i < 4; i++)
            if (pDock[i] == pSrc->m_pDockBar && bNear[i] && TryDockFixedBar(x, y, pDock[i]))
                return;
        for (int nPass = 0; nPass < 2; nPass++)
            for (int i = 0; i < 4; i++)
                if (pDock[i] != NULL && pDock[i] != pSrc->m_pDockBar && bNear[i] && bVisible[i] == (nPass == 0) &&
                    TryDockFixedBar(x, y, pDock[i]))
                    return;
    }
    m_nKind = 0;
    SetTargetBar(NULL);
    g_DraggingState.m_nFixedCursorKind = 0;
    pSrc->FloatUnderCursor(x, y);
}

bool DragState::TryDockFixedBar(int x, int y, CDockBar* pDockBar)
{
    CExtControlBar* pSrc = m_pBarSrc;
    if (pSrc == NULL || pDockBar == NULL || pDockBar->GetSafeHwnd() == NULL ||
        ((pDockBar->m_dwStyle & CBRS_ALIGN_ANY) & (pSrc->m_dwDockStyle & CBRS_ALIGN_ANY)) == 0)
        return false;
    CFrameWnd* pFrame = pSrc->m_pDockSite;
    if (pFrame == NULL)
        return false;
    g_DraggingState.m_nFixedCursorKind = 0;
    const UINT nID = UINT(pDockBar->GetDlgCtrlID());
    const bool bHorz = nID == AFX_IDW_DOCKBAR_TOP || nID == AFX_IDW_DOCKBAR_BOTTOM;
    const CSize szGrab = pSrc->GetGrabOffset(bHorz ? 1 : 2);
    CExtDockOuterBar* pOuter = DYNAMIC_DOWNCAST(CExtDockOuterBar, pDockBar);
    if (pSrc->m_pDockBar != pDockBar)
    {
        const CSize size = pSrc->CalcFixedLayout(FALSE, bHorz);
        CRect rc(CPoint(x - szGrab.cx, y - szGrab.cy), size);
        pFrame->DockControlBar(pSrc, pDockBar, &rc);
        pSrc->RegisterWithOuterDockBar();
        pFrame->RecalcLayout();
        CExtPaintManager::PumpPaintMessages();
    }
    else
    {
        CRect rcRow, rcBar;
        CArray<CExtControlBar*, CExtControlBar*> arrRow;
        pSrc->GetRowExtBars(arrRow, true, &rcRow);
        pSrc->GetWindowRect(&rcBar);
        const int nPos = bHorz ? y : x;
        const int nRowLow = bHorz ? rcRow.top : rcRow.left;
        const int nRowHigh = bHorz ? rcRow.bottom : rcRow.right;
        const int nOffset = bHorz ? (x - szGrab.cx) - rcBar.left : (y - szGrab.cy) - rcBar.top;
        if (nPos >= nRowLow && nPos < nRowHigh)
        {
            if (nOffset == 0 || pOuter == NULL)
                return true;
            bool bChanged = false;
            pOuter->MoveBarInRow(pSrc, bHorz ? nOffset : 0, bHorz ? 0 : nOffset, &bChanged);
        }
        else
        {
            const bool bNext = nPos >= nRowHigh;
            CArray<CExtControlBar*, CExtControlBar*> arrNext;
            pSrc->GetNeighbourRowBars(bNext, arrNext);
            CArray<CControlBar*, CControlBar*> arrRowBars;
            for (INT_PTR i = 0; i < arrNext.GetSize(); i++)
                arrRowBars.Add(arrNext[i]);
            bool bDone = false;
            if (pOuter != NULL && arrRowBars.GetSize() > 0)
                bDone = pOuter->TryDockIntoRow(pSrc, arrRowBars, nOffset);
            if (!bDone && pOuter != NULL)
            {
                // No room there (or no row): a row of its own on that side.
                CControlBar* pNear = arrRowBars.GetSize() > 0 ? arrRowBars[0] : static_cast<CControlBar*>(pSrc);
                if (pNear == pSrc && arrRow.GetSize() <= 1)
                    return true;  // alone in its row already: nothing to gain
                // Between its row and the neighbour row; past the last row, beyond its own.
                bDone = pOuter->DockBarAsNewRow(pNear, pSrc, pNear == pSrc ? !bNext : bNext);
            }
            if (!bDone)
                return true;
        }
        pFrame->RecalcLayout();
        CExtPaintManager::PumpPaintMessages();
    }
    g_DraggingState.m_nFixedCursorKind = bHorz ? 1 : 2;
    return true;
}
