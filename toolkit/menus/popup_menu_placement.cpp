// Placing a popup menu: the window rectangle on the monitor's work area beside the
// exclude rectangle (the owner's item or button), flipping to the other side where there
// is no room, and the region that joins a combined menu with its owner.
#include "toolkit/menus/popup_menu_wnd.h"

#include <algorithm>

namespace {

// The sides of the exclude rectangle a combined menu joins (m_nCombineSide).
enum
{
    SIDE_NONE = 0,
    SIDE_BELOW = 1,
    SIDE_ABOVE = 2,
    SIDE_LEFT = 3,
    SIDE_RIGHT = 4,
};

// Moves the rectangle, without resizing it, the least that puts it inside the area.
void MoveRectInside(CRect& rc, const CRect& rcArea)
{
    if (rc.right > rcArea.right)
        rc.OffsetRect(rcArea.right - rc.right, 0);
    if (rc.left < rcArea.left)
        rc.OffsetRect(rcArea.left - rc.left, 0);
    if (rc.bottom > rcArea.bottom)
        rc.OffsetRect(0, rcArea.bottom - rc.bottom);
    if (rc.top < rcArea.top)
        rc.OffsetRect(0, rcArea.top - rc.top);
}

// What fitting into the work area needs to know about the menu's situation.
struct FitContext
{
    CRect rcArea;     // the work area (or monitor)
    CRect rcExclude;  // the owner's item or button
    bool bExclude;    // the menu was given an exclude rectangle
    bool bCombined;   // the menu joins the exclude rectangle
    bool bRoot;       // no parent menu
    int nShadow;
    int nTopMargin;  // the border and shadow above the first item of a separate menu
};

// A menu running off the bottom flips above the exclude rectangle (or above the point),
// one running off the right flips to the left of its parent's item; what still does not
// fit is pushed back inside.
void FitIntoWorkArea(CRect& rcMenu, const FitContext& fc)
{
    const CRect& rcArea = fc.rcArea;
    const CRect& rcExclude = fc.rcExclude;
    if (rcMenu.bottom > rcArea.bottom)
    {
        if (fc.bExclude)
            rcMenu.OffsetRect(0,
                              rcExclude.Height() - rcMenu.Height() + fc.nTopMargin + (fc.bCombined ? fc.nShadow : 0));
        if (rcMenu.bottom > rcArea.bottom)
        {
            if (fc.bExclude)
                rcMenu.OffsetRect(0, rcArea.bottom - rcMenu.bottom);
            else
                rcMenu.OffsetRect(0, -rcMenu.Height());
        }
    }
    if (rcMenu.top < rcArea.top)
        rcMenu.OffsetRect(0, rcArea.top - rcMenu.top);
    if (rcMenu.right > rcArea.right)
    {
        if (!fc.bRoot && fc.bExclude)
            rcMenu.OffsetRect(-(rcExclude.Width() + rcMenu.Width()), 0);
        if (rcMenu.right > rcArea.right)
        {
            if (fc.bExclude)
                rcMenu.OffsetRect(rcArea.right - rcMenu.right, 0);
            else
                rcMenu.OffsetRect(-rcMenu.Width(), 0);
        }
    }
    if (rcMenu.left < rcArea.left)
    {
        if (!fc.bRoot && fc.bExclude)
            rcMenu.OffsetRect(rcExclude.Width() + rcMenu.Width(), 0);
        if (rcMenu.left < rcArea.left)
            rcMenu.OffsetRect(rcArea.left - rcMenu.left, 0);
    }
}

// The side of the exclude rectangle the placed menu touches, SIDE_NONE when it touches
// none (then it cannot be combined).
int FindCombineSide(const CRect& rcMenu, const CRect& rcExclude, int nOverlap)
{
    int nSide = SIDE_NONE;
    if (rcMenu.bottom == rcExclude.top - nOverlap)
        nSide = SIDE_ABOVE;
    if (rcMenu.top == rcExclude.bottom - nOverlap)
        nSide = SIDE_BELOW;
    if (rcMenu.left == rcExclude.right - nOverlap)
        nSide = SIDE_RIGHT;
    if (rcMenu.right == rcExclude.left - nOverlap)
        nSide = SIDE_LEFT;
    return nSide;
}

}  // namespace

// Up to four passes: a pass that flips the menu above its owner, or finds that it cannot
// be combined after all, starts again with the new situation.
void CExtPopupMenuWnd::CalcPlacementRect(RECT& rcWindow)
{
    for (int nPass = 0; nPass < 4; nPass++)
    {
        m_nCombineSide = SIDE_NONE;
        FitContext fc;
        fc.nShadow = GetShadowSize();
        fc.bExclude = (m_nPbwFlags & 0x01) != 0;
        fc.bCombined = (m_nPbwFlags & __PBW_FLAG_COMBINED) != 0;
        fc.bRoot = m_pParentMenu == NULL;
        fc.rcArea = GetPlacementArea(fc.bExclude);
        fc.rcExclude = m_rcWndArea;
        CSize sizeMenu;
        CalcMenuSize(sizeMenu);
        if (IsTearOffEnabled())
            sizeMenu.cy += GetTearOffCaptionHeight();
        CRect rcMargins;
        GetBorderMargins(rcMargins);
        fc.nTopMargin = fc.bCombined ? 0 : rcMargins.top + fc.nShadow;
        const DWORD dwAlign = InheritParentAlignment(fc.bCombined);

        CRect rcMenu(m_ptTrack.x, m_ptTrack.y, m_ptTrack.x + sizeMenu.cx, m_ptTrack.y + sizeMenu.cy);
        const int nOverlap = fc.bCombined ? OffsetOntoCombinedOwner(rcMenu, dwAlign, fc.nShadow) : 0;
        if (IsLayoutRTL() && (dwAlign == TMF_ALIGN_BELOW || dwAlign == TMF_ALIGN_ABOVE))
            rcMenu.OffsetRect(fc.rcExclude.Width() - rcMenu.Width() + fc.nShadow, 0);
        FitIntoWorkArea(rcMenu, fc);
        if (fc.bExclude || fc.bCombined)
        {
            const PLACEMENT_STEP step =
                PlaceBesideExclude(rcMenu, fc.rcArea, dwAlign, nOverlap, fc.bCombined, sizeMenu);
            if (step == PLACEMENT_WINDOW_GONE)
                break;
            if (step == PLACEMENT_RESTART)
                continue;
        }
        if (!ClampIntoWorkArea(rcMenu, fc.rcArea))
            fc.bCombined = false;
        if (!fc.bCombined)
        {
            m_rcMenu.SetRect(0, 0, rcMenu.Width() - fc.nShadow, rcMenu.Height() - fc.nShadow);
            rcWindow = rcMenu;
            return;
        }
        const int nSide = FindCombineSide(rcMenu, fc.rcExclude, nOverlap);
        if (nSide == SIDE_NONE || !MakeCombinedRegion(rcMenu, nSide, fc.nShadow, rcWindow))
        {
            m_nPbwFlags &= ~__PBW_FLAG_COMBINED;
            continue;
        }
        return;
    }
    ::SetRectEmpty(&rcWindow);
}

// The work area (or the whole monitor) of the exclude rectangle, the parent menu or the
// track point.
CRect CExtPopupMenuWnd::GetPlacementArea(bool bExclude)
{
    CExtPaintManager::MONITORDATA md;
    if (bExclude)
        CExtPaintManager::MonitorDataFromRect(md, m_rcWndArea);
    else if (m_pParentMenu != NULL && m_pParentMenu->GetSafeHwnd() != NULL)
        CExtPaintManager::MonitorDataFromHwnd(md, m_pParentMenu->GetSafeHwnd());
    else
        CExtPaintManager::MonitorDataFromPoint(md, m_ptTrack);
    return g_bUseWorkArea ? CRect(md.m_rcWorkArea) : CRect(md.m_rcMonitor);
}

// A separate sub-menu without an alignment of its own takes its parent's track flags, or,
// under a grand-parent, goes on in the direction the chain already runs.
DWORD CExtPopupMenuWnd::InheritParentAlignment(bool bCombined)
{
    DWORD dwAlign = m_dwTrackFlags & TMF_ALIGN_MASK;
    if (dwAlign != 0 || bCombined || m_pParentMenu == NULL || m_pParentMenu->GetSafeHwnd() == NULL)
        return dwAlign;
    const DWORD dwParentAlign = m_pParentMenu->m_dwTrackFlags & TMF_ALIGN_MASK;
    CExtPopupMenuWnd* pGrandParent = m_pParentMenu->m_pParentMenu;
    if (dwParentAlign != 0)
        m_dwTrackFlags = (m_dwTrackFlags & (TMF_ALIGN_MASK | 0x30000)) |
                         (m_pParentMenu->m_dwTrackFlags & ~(TMF_ALIGN_MASK | 0x30000));
    else if (pGrandParent != NULL && pGrandParent->GetSafeHwnd() != NULL)
    {
        CRect rcParent, rcGrandParent;
        m_pParentMenu->GetWindowRect(&rcParent);
        pGrandParent->GetWindowRect(&rcGrandParent);
        const int nParentCentre = rcParent.left + (rcParent.right - rcParent.left) / 2;
        const int nGrandParentCentre = rcGrandParent.left + (rcGrandParent.right - rcGrandParent.left) / 2;
        dwAlign = (nParentCentre < nGrandParentCentre) ? TMF_ALIGN_LEFT_OF : TMF_ALIGN_RIGHT_OF;
        m_dwTrackFlags = (m_dwTrackFlags & ~TMF_ALIGN_MASK) | dwAlign;
    }
    return dwAlign;
}

// A combined menu overlaps its owner's edge by a pixel (or by the shadow on the far
// sides); answers that overlap.
int CExtPopupMenuWnd::OffsetOntoCombinedOwner(CRect& rcMenu, DWORD dwAlign, int nShadow)
{
    int nOverlap = 0;
    if (dwAlign == TMF_ALIGN_BELOW)
    {
        nOverlap = 1;
        rcMenu.OffsetRect(0, -1);
    }
    else if (dwAlign == TMF_ALIGN_RIGHT_OF)
    {
        nOverlap = 1;
        rcMenu.OffsetRect(-1, 0);
    }
    else if (dwAlign == TMF_ALIGN_ABOVE)
    {
        nOverlap = -(nShadow + 1);
        rcMenu.OffsetRect(0, nShadow + 1);
    }
    else if (dwAlign == TMF_ALIGN_LEFT_OF && (!IsLayoutRTL() || m_pParentMenu == NULL))
    {
        nOverlap = -(nShadow + 1);
        rcMenu.OffsetRect(-nOverlap, 0);
    }
    return nOverlap;
}

// A menu that covers its exclude rectangle (or is combined with it) goes beside it on the
// aligned side where there is room; one opening below without room there restarts above.
CExtPopupMenuWnd::PLACEMENT_STEP CExtPopupMenuWnd::PlaceBesideExclude(CRect& rcMenu, const CRect& rcArea, DWORD dwAlign,
                                                                      int nOverlap, bool bCombined,
                                                                      const CSize& sizeMenu)
{
    const CRect& rcExclude = m_rcWndArea;
    CRect rcCovered;
    if (!rcCovered.IntersectRect(&rcMenu, &rcExclude) && !bCombined)
        return PLACEMENT_DONE;
    const int nRoomLeft = std::max(0, (int)(rcExclude.left - rcArea.left));
    const int nRoomRight = std::max(0, (int)(rcArea.right - rcExclude.right));
    const int nRoomTop = std::max(0, (int)(rcExclude.top - rcArea.top));
    const int nRoomBottom = std::max(0, (int)(rcArea.bottom - rcExclude.bottom));
    const int nEdgeOverlap = bCombined ? nOverlap : 0;
    if (dwAlign == TMF_ALIGN_RIGHT_OF && nRoomRight > rcMenu.Width())
        rcMenu.OffsetRect(rcExclude.right - nEdgeOverlap - rcMenu.left, 0);
    else if (dwAlign == TMF_ALIGN_LEFT_OF && nRoomLeft > rcMenu.Width())
        rcMenu.OffsetRect(rcExclude.left - nEdgeOverlap - rcMenu.right, 0);
    else if (dwAlign == TMF_ALIGN_BELOW)
    {
        if (nRoomBottom > rcMenu.Height())
            rcMenu.OffsetRect(0, rcExclude.bottom - nEdgeOverlap - rcMenu.top);
        else
        {
            if (GetSafeHwnd() != NULL)
            {
                HWND hWnd = m_hWnd;
                ShowWindow(SW_HIDE);
                ReleaseAnimationResources();
                if (!::IsWindow(hWnd))
                    return PLACEMENT_WINDOW_GONE;
            }
            m_dwTrackFlags = (m_dwTrackFlags & ~TMF_ALIGN_MASK) | TMF_ALIGN_ABOVE;
            m_ptTrack = CPoint(rcExclude.left, rcExclude.top - sizeMenu.cy);
            return PLACEMENT_RESTART;
        }
    }
    else if (dwAlign == TMF_ALIGN_ABOVE && nRoomTop > rcMenu.Height())
        rcMenu.OffsetRect(0, rcExclude.top - nEdgeOverlap - rcMenu.bottom);
    return PLACEMENT_DONE;
}

// Pushes the menu inside the work area and makes it scrollable where it is still too tall.
// False when a root menu had to move, which parts it from its owner.
bool CExtPopupMenuWnd::ClampIntoWorkArea(CRect& rcMenu, const CRect& rcArea)
{
    const CRect rcBefore = rcMenu;
    MoveRectInside(rcMenu, rcArea);
    bool bStaysCombined = true;
    if (m_pParentMenu == NULL && rcMenu != rcBefore)
    {
        m_nPbwFlags &= ~(0x01 | __PBW_FLAG_COMBINED);
        bStaysCombined = false;
    }
    if (rcMenu.bottom > rcArea.bottom || rcMenu.Height() > rcArea.Height())
    {
        m_nMenuFlags |= __MF_SCROLLABLE;
        rcMenu.top = std::max((int)rcMenu.top, (int)rcArea.top);
        rcMenu.bottom = rcArea.bottom;
    }
    return bStaysCombined;
}

// The window of a combined menu spans the menu and its owner's rectangle (with its
// shadow); its region is the union of both. False when the region cannot be made.
bool CExtPopupMenuWnd::MakeCombinedRegion(const CRect& rcMenu, int nSide, int nShadow, RECT& rcWindow)
{
    const CRect& rcExclude = m_rcWndArea;
    const bool bRoot = m_pParentMenu == NULL;
    m_nCombineSide = nSide;
    CRect rcOwner(rcExclude.left, rcExclude.top, rcExclude.right + nShadow, rcExclude.bottom + nShadow);
    if (!bRoot)
    {
        if (nSide == SIDE_LEFT || nSide == SIDE_RIGHT)
            rcOwner.bottom -= nShadow;
        else
            rcOwner.right -= nShadow;
    }
    CRect rcUnion;
    rcUnion.UnionRect(&rcMenu, &rcOwner);
    m_rgnCombined.DeleteObject();
    HRGN hRgnMenu = ::CreateRectRgn(rcMenu.left - rcUnion.left, rcMenu.top - rcUnion.top, rcMenu.right - rcUnion.left,
                                    rcMenu.bottom - rcUnion.top);
    HRGN hRgnOwner = ::CreateRectRgn(rcOwner.left - rcUnion.left, rcOwner.top - rcUnion.top,
                                     rcOwner.right - rcUnion.left, rcOwner.bottom - rcUnion.top);
    if (hRgnMenu == NULL || hRgnOwner == NULL)
    {
        if (hRgnMenu != NULL)
            ::DeleteObject(hRgnMenu);
        if (hRgnOwner != NULL)
            ::DeleteObject(hRgnOwner);
        return false;
    }
    ::CombineRgn(hRgnMenu, hRgnMenu, hRgnOwner, RGN_OR);
    ::DeleteObject(hRgnOwner);
    m_rgnCombined.Attach(hRgnMenu);
    m_rcMenu.SetRect(rcMenu.left - rcUnion.left, rcMenu.top - rcUnion.top, rcMenu.right - rcUnion.left - nShadow,
                     rcMenu.bottom - rcUnion.top - nShadow);
    if (!bRoot)
    {
        if (nSide == SIDE_LEFT)
            rcUnion.OffsetRect(nShadow + 1, 0);
        else if (nSide == SIDE_RIGHT)
            rcUnion.OffsetRect(-2, 0);
    }
    rcWindow = rcUnion;
    return true;
}
