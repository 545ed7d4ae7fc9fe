// The grid window's mouse and keyboard side: the hit test that asks the cell for its
// parts, the cursor, hover calls to the cells, clicks (best fit by a double click on an
// edge, the cell's own click, editing by click), keys for the focused cell, the tip and
// the content-expand popup of a hovered cell, and best fit.
#include "toolkit/grid/grid_wnd.h"
#include <algorithm>
#include "toolkit/menus/popup_menu_tip_wnd.h"

namespace {

const DWORD g_dwEdgeBits = 0xF0;
// Parts a click on which is the part's own business, not an edit.
const DWORD g_dwNoEditParts = 0x400 | 0x800 | 0x1000 | 0x8000 | 0x10000;

}  // namespace

CExtGridBaseWnd::HIT_TEST_INFO& CExtGridWnd::HitTest(HIT_TEST_INFO& hti, bool bAdjustEdges, bool bDropFirstEdges,
                                                     bool bTestFarHalf)
{
    CExtGridBaseWnd::HitTest(hti, bAdjustEdges, bDropFirstEdges, bTestFarHalf);
    if (hti.IsEmpty())
        return hti;
    const INT nColType = hti.GetColumnType(), nRowType = hti.GetRowType();
    // With proportional fitting the last item fills the client area: it has no far edge
    // to drag.
    if (nRowType != 0 && nColType == 0 && (hti.m_dwAreaFlags & HIT_TEST_INFO::AREA_NEAR_RIGHT_EDGE) != 0 &&
        IsProportional(true) && hti.m_nColNo == GetColumnCount() - 1)
        hti.m_dwAreaFlags &= ~DWORD(HIT_TEST_INFO::AREA_NEAR_RIGHT_EDGE);
    if (nColType != 0 && nRowType == 0 && (hti.m_dwAreaFlags & HIT_TEST_INFO::AREA_NEAR_BOTTOM_EDGE) != 0 &&
        IsProportional(false) && hti.m_nRowNo == GetRowCount() - 1)
        hti.m_dwAreaFlags &= ~DWORD(HIT_TEST_INFO::AREA_NEAR_BOTTOM_EDGE);
    CExtGridCell* pCell = GetCell(hti);
    if (pCell != NULL)
        pCell->OnHitTest(*this, hti, bTestFarHalf);
    return hti;
}

bool CExtGridWnd::OnSetCursor(const HIT_TEST_INFO& hti)
{
    if (!hti.IsEmpty() && hti.IsValidRect())
    {
        CExtGridCell* pCell = GetCell(hti);
        if (pCell != NULL && pCell->OnSetCursor(*this, hti))
            return true;
    }
    return CExtGridBaseWnd::OnSetCursor(hti);
}

void CExtGridWnd::ResetCursor()
{
    HIT_TEST_INFO hti(-1, -1);
    OnSetCursor(hti);
}

void CExtGridWnd::OnHoverChanged(const HIT_TEST_INFO& htiOld, const HIT_TEST_INFO& htiNew, bool bEnter, bool bLeave)
{
    CExtGridBaseWnd::OnHoverChanged(htiOld, htiNew, bEnter, bLeave);
    if ((GetScrollItemStyleEx() & 0x3) == 0)
        return;
    if (HIT_TEST_INFO::IsEqual(htiOld, htiNew, true, true, true) && !bEnter)
    {
        const HIT_TEST_INFO& hti = bLeave ? htiOld : htiNew;
        CExtGridCell* pCell = GetCell(hti);
        if (pCell != NULL)
            pCell->OnHover(*this, hti, false, bLeave);
        return;
    }
    if (bLeave && !htiOld.IsEmpty() && htiOld.IsValidRect())
    {
        CExtGridCell* pCell = GetCell(htiOld);
        if (pCell != NULL)
            pCell->OnHover(*this, htiOld, false, true);
    }
    if (bEnter && !htiNew.IsEmpty() && htiNew.IsValidRect())
    {
        CExtGridCell* pCell = GetCell(htiNew);
        if (pCell != NULL)
            pCell->OnHover(*this, htiNew, true, false);
    }
}

// ---- clicks ---------------------------------------------------------------------------

bool CExtGridWnd::IsBestFitAllowedAt(bool bColumns, const HIT_TEST_INFO& hti)
{
    if (hti.IsEmpty())
        return false;
    if (bColumns)
        return (GetScrollItemStyle() & GRID_UNIFORM_COLUMNS) == 0 && hti.GetColumnType() == 0 && hti.GetRowType() != 0;
    return (GetScrollItemStyle() & GRID_UNIFORM_ROWS) == 0 && hti.GetColumnType() != 0 && hti.GetRowType() == 0;
}

bool CExtGridWnd::BestFitByDoubleClick(const HIT_TEST_INFO& htiHit)
{
    const DWORD dwEx = m_dwGridStyleEx;
    HIT_TEST_INFO hti = htiHit;
    DWORD& dwArea = hti.m_dwAreaFlags;
    const DWORD dwStyle = GetScrollItemStyle();
    if ((dwStyle & GRID_UNIFORM_COLUMNS) == 0 && (dwArea & 0xC0) != 0 &&
        (hti.m_nColNo > 0 || (dwArea & HIT_TEST_INFO::AREA_NEAR_RIGHT_EDGE) != 0))
    {
        // The left edge of a column is the right edge of the one before it.
        if ((dwArea & HIT_TEST_INFO::AREA_NEAR_LEFT_EDGE) != 0 && hti.m_nColNo > 0)
        {
            hti.m_nColNo--;
            dwArea = (dwArea & ~DWORD(HIT_TEST_INFO::AREA_NEAR_LEFT_EDGE)) | HIT_TEST_INFO::AREA_NEAR_RIGHT_EDGE;
        }
        const DWORD dwNeed = hti.GetRowType() != 0 ? __EGSE_BEST_FIT_COLUMNS_OUTER : __EGSE_BEST_FIT_COLUMNS_INNER;
        if ((dwArea & HIT_TEST_INFO::AREA_NEAR_RIGHT_EDGE) != 0 && (dwEx & dwNeed) != 0 && IsBestFitAllowedAt(true, hti))
        {
            const bool bOuter = (dwEx & __EGSE_BEST_FIT_COLUMN_OUTER_CELLS) != 0;
            const bool bInner = (dwEx & __EGSE_BEST_FIT_COLUMN_INNER_CELLS) != 0;
            if (bOuter || bInner)
                BestFitColumn(hti.m_nColNo, hti.GetColumnType(), bOuter, bInner,
                              (dwEx & __EGSE_BEST_FIT_COLUMN_VISIBLE_ONLY) != 0, true);
            return true;
        }
    }
    hti = htiHit;
    if ((dwStyle & GRID_UNIFORM_ROWS) == 0 && (dwArea & 0x30) != 0 &&
        (hti.m_nRowNo > 0 || (dwArea & HIT_TEST_INFO::AREA_NEAR_BOTTOM_EDGE) != 0))
    {
        if ((dwArea & HIT_TEST_INFO::AREA_NEAR_TOP_EDGE) != 0 && hti.m_nRowNo > 0)
        {
            hti.m_nRowNo--;
            dwArea = (dwArea & ~DWORD(HIT_TEST_INFO::AREA_NEAR_TOP_EDGE)) | HIT_TEST_INFO::AREA_NEAR_BOTTOM_EDGE;
        }
        const DWORD dwNeed = hti.GetColumnType() != 0 ? __EGSE_BEST_FIT_ROWS_OUTER : __EGSE_BEST_FIT_ROWS_INNER;
        if ((dwArea & HIT_TEST_INFO::AREA_NEAR_BOTTOM_EDGE) != 0 && (dwEx & dwNeed) != 0 &&
            IsBestFitAllowedAt(false, hti))
        {
            const bool bOuter = (dwEx & __EGSE_BEST_FIT_ROW_OUTER_CELLS) != 0;
            const bool bInner = (dwEx & __EGSE_BEST_FIT_ROW_INNER_CELLS) != 0;
            if (bOuter || bInner)
                BestFitRow(hti.m_nRowNo, hti.GetRowType(), bOuter, bInner,
                           (dwEx & __EGSE_BEST_FIT_ROW_VISIBLE_ONLY) != 0, true);
            return true;
        }
    }
    return false;
}

bool CExtGridWnd::EditByClick(int nEvent, CPoint point)
{
    const DWORD dwBehavior = GetBehaviorStyle();
    if ((nEvent == 2 && (dwBehavior & __EGBS_EDIT_ON_DBLCLICK) == 0) ||
        (nEvent == 3 && (dwBehavior & __EGBS_EDIT_ON_CLICK) == 0) || (nEvent != 2 && nEvent != 3))
        return false;
    HIT_TEST_INFO hti(point);
    HitTest(hti, false, true, false);
    if (hti.IsEmpty() || !hti.IsValidRect() || (hti.m_dwAreaFlags & g_dwNoEditParts) != 0 ||
        (hti.m_dwAreaFlags & (0x2000 | 0x4000)) == 0)
        return false;
    if (nEvent == 3 && (dwBehavior & __EGBS_EDIT_ON_CLICK_FOCUS_ONLY) != 0)
    {
        const POINT ptFocus = FocusGet();
        const bool bInner = hti.IsInner();
        switch (GetSelectionMode())
        {
        case GRID_SELECT_CELLS:
            if (!bInner || hti.m_nColNo != ptFocus.x || hti.m_nRowNo != ptFocus.y)
                return false;
            break;
        case GRID_SELECT_ROWS:
            if (hti.m_nRowNo != ptFocus.y || hti.GetColumnType() != 0)
                return false;
            break;
        case GRID_SELECT_COLUMNS:
            if (hti.m_nColNo != ptFocus.x || hti.GetRowType() != 0)
                return false;
            break;
        default:
            break;
        }
    }
    if (nEvent == 2 && ((::GetAsyncKeyState(VK_CONTROL) & 0x8000) != 0 || (::GetAsyncKeyState(VK_MENU) & 0x8000) != 0 ||
                        (::GetAsyncKeyState(VK_SHIFT) & 0x8000) != 0))
        return false;
    return EditCellAt(hti.m_nColNo, hti.m_nRowNo, hti.GetColumnType(), hti.GetRowType(), hti.m_rcExtra, hti.m_rcItem,
                      CRect(0, 0, 0, 0), true);
}

bool CExtGridWnd::OnMouseClick(int nButton, int nEvent, UINT nFlags, CPoint point)
{
    if (CExtGridBaseWnd::OnMouseClick(nButton, nEvent, nFlags, point))
        return true;
    HIT_TEST_INFO hti(point);
    HitTest(hti, false, true, false);
    if (hti.IsEmpty() || !hti.IsValidRect())
        return false;
    if ((m_dwGridStyleEx & __EGSE_BEST_FIT_ANY) != 0 && nButton == 1 && nEvent == 2 &&
        (hti.m_dwAreaFlags & g_dwEdgeBits) != 0 && BestFitByDoubleClick(hti))
        return true;
    CExtGridCell* pCell = GetCell(hti);
    if (pCell != NULL && pCell->OnClick(*this, hti, nButton, nEvent, nFlags))
        return true;
    if (nButton != 1)
        return false;
    return EditByClick(nEvent, point);
}

// ---- keys ---------------------------------------------------------------------------

bool CExtGridWnd::OnSysKey(bool bDown, UINT nChar, UINT nRepCnt, UINT nFlags)
{
    if (CExtGridBaseWnd::OnSysKey(bDown, nChar, nRepCnt, nFlags))
        return true;
    const POINT ptFocus = FocusGet();
    CExtGridCell* pCell = ptFocus.x >= 0 && ptFocus.y >= 0 ? GridCellGet(ptFocus.x, ptFocus.y) : NULL;
    return pCell != NULL && pCell->OnSysKey(*this, bDown, nChar, nRepCnt, nFlags);
}

bool CExtGridWnd::OnKey(bool bDown, UINT nChar, UINT nRepCnt, UINT nFlags)
{
    if (CExtGridBaseWnd::OnKey(bDown, nChar, nRepCnt, nFlags))
        return true;
    const POINT ptFocus = FocusGet();
    CExtGridCell* pCell = ptFocus.x >= 0 && ptFocus.y >= 0 ? GridCellGet(ptFocus.x, ptFocus.y) : NULL;
    return pCell != NULL && pCell->OnKey(*this, bDown, nChar, nRepCnt, nFlags);
}

bool CExtGridWnd::OnEditKey(UINT nChar)
{
    if ((nChar != VK_RETURN && nChar != VK_F2) || (GetBehaviorStyle() & __EGBS_EDIT_ON_KEY) == 0)
        return CExtGridBaseWnd::OnEditKey(nChar);
    const POINT ptFocus = FocusGet();
    if (ptFocus.x < 0 || ptFocus.y < 0)
        return false;
    EditCell(ptFocus.x, ptFocus.y, 0, 0, EDIT_MODAL | EDIT_REPLACE_OPEN);
    return true;
}

// ---- tips and the content-expand popup ------------------------------------------------------

bool CExtGridWnd::ShowCellTip(const HIT_TEST_INFO& hti)
{
    CExtPopupMenuTipWnd* pTip = GetSharedTipWnd();
    if (pTip == NULL && m_wndToolTip.GetSafeHwnd() == NULL)
        return false;
    CExtGridCell* pCell = GetCell(hti);
    if (pCell == NULL)
        return false;
    if (pTip != NULL && pCell->OnInitTipWnd(*this, hti, *pTip, hti.m_rcItem))
    {
        CRect rcScreen = hti.m_rcItem;
        ClientToScreen(&rcScreen);
        // The tip already stands over this cell.
        if (pTip->GetSafeHwnd() != NULL && ::IsWindowVisible(pTip->GetSafeHwnd()) && pTip->m_rcWndArea == rcScreen)
            return true;
        ShowSharedTip(pTip, rcScreen);
        return true;
    }
    return pCell->OnInitToolTip(*this, hti, m_wndToolTip, 1, hti.m_rcItem);
}

bool CExtGridWnd::ShowContentExpand(const HIT_TEST_INFO& hti, UINT nDelay)
{
    HIT_TEST_INFO htiCopy = hti;
    if (nDelay != 0)
        return CExtGridBaseWnd::OnPopupDelayStart(htiCopy, nDelay);
    CExtGridCell* pCell = GetCell(hti);
    if (pCell != NULL)
    {
        // The popup paints the cell its record names.
        m_htiExpanded = hti;
        if (pCell->OnInitContentExpandWnd(*this, hti, m_wndContentExpand, hti.m_rcItem, (INT)m_dwContentExpandFlags))
            return true;
    }
    if (m_wndContentExpand.GetSafeHwnd() != NULL)
        m_wndContentExpand.Deactivate();
    m_htiExpanded = HIT_TEST_INFO(-1, -1);
    return false;
}

bool CExtGridWnd::OnPopupDelayStart(HIT_TEST_INFO& hti, UINT nDelay)
{
    if (nDelay != 0)
        return ShowContentExpand(hti, nDelay);
    // The delay ran out over the cell: its whole content when it is cut, else its tip.
    if (ShowContentExpand(hti, 0))
        return true;
    return ShowCellTip(hti);
}

bool CExtGridWnd::OnContentExpandShow(HIT_TEST_INFO& hti) { return ShowContentExpand(hti, 0); }

HWND CExtGridWnd::GetSafeInplaceActiveHwnd()
{
    return m_hWndInplaceControl != NULL && ::IsWindow(m_hWndInplaceControl) ? m_hWndInplaceControl : NULL;
}

// ---- best fit ------------------------------------------------------------------------------

bool CExtGridWnd::BestFitColumn(LONG nColNo, INT nColType, bool bOuter, bool bInner, bool bVisibleOnly,
                                bool bRedraw)
{
    return BestFit(true, nColNo, nColType, bOuter, bInner, bVisibleOnly, bRedraw);
}

bool CExtGridWnd::BestFitRow(LONG nRowNo, INT nRowType, bool bOuter, bool bInner, bool bVisibleOnly, bool bRedraw)
{
    return BestFit(false, nRowNo, nRowType, bOuter, bInner, bVisibleOnly, bRedraw);
}

bool CExtGridWnd::BestFit(bool bColumns, LONG nIndex, INT nType, bool bOuter, bool bInner, bool bVisibleOnly,
                          bool bRedraw)
{
    if (nIndex < 0 || (!bOuter && !bInner))
        return false;
    if ((GetScrollItemStyle() & (bColumns ? GRID_UNIFORM_COLUMNS : GRID_UNIFORM_ROWS)) != 0)
        return false;
    // The cells across the item: the header cells of the two far bands, then the inner
    // items (only the shown ones on request or on an unbounded axis).
    const bool bUnbounded = (bColumns ? GetScrollTypeV() : GetScrollTypeH()) == __ESIS_ST_UNBOUNDED;
    int nMeasured = -1;
    auto measure = [&](LONG nOther, INT nOtherType) {
        CExtGridCell* pCell = bColumns ? GridCellGet(nIndex, nOther, nType, nOtherType)
                                       : GridCellGet(nOther, nIndex, nOtherType, nType);
        if (pCell == NULL)
            return;
        const CSize size = pCell->MeasureCell(this);
        nMeasured = std::max(nMeasured, (int)(bColumns ? size.cx : size.cy));
    };
    if (bOuter && nType == 0)
    {
        const int nNear = bColumns ? GetTopOuterRowCount() : GetLeftOuterColumnCount();
        const int nFar = bColumns ? GetBottomOuterRowCount() : GetRightOuterColumnCount();
        for (int i = 0; i < nNear; i++)
            measure(i, -1);
        for (int i = 0; i < nFar; i++)
            measure(i, 1);
    }
    if (bInner)
    {
        int nFirst = 0, nLast = (bColumns ? GetRowCount() : GetColumnCount()) - 1;
        if (bVisibleOnly || bUnbounded)
        {
            int nOffset = 0;
            if (bColumns)
                GetVisibleRowRange(nFirst, nLast, nOffset);
            else
                GetVisibleColumnRange(nFirst, nLast, nOffset);
        }
        for (int i = std::max(0, nFirst); i <= nLast; i++)
            measure(i, 0);
    }
    if (nMeasured < 0)
        return false;
    if (nType != 0)
    {
        // Outer items keep their extents in the base window.
        if (bColumns)
            ColumnExtentSet(nType < 0, nIndex, nMeasured);
        else
            RowExtentSet(nType < 0, nIndex, nMeasured);
    }
    else
    {
        CExtGridCell* pHeader = HeaderCellOf(bColumns, nIndex);
        if (pHeader == NULL)
            return false;
        INT nMin = 0, nMax = 32767;
        HeaderExtentLimits(pHeader, nMin, nMax);
        ClampExtent(nMeasured, nMin, nMax);
        if (!pHeader->SetExtent(nMeasured, 0))
            return false;
        if (IsProportional(bColumns))
            FitProportional(bColumns, nIndex);
    }
    if (bRedraw && ::IsWindow(m_hWnd))
        UpdateScrollBars(), Redraw();
    return true;
}
