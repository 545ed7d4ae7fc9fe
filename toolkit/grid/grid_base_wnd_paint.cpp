// The grid base window's cell walk: one pass over the visible cells of the data area and
// the four bands that either paints them or finds the cell under a point.
#include "toolkit/grid/grid_base_wnd.h"
#include "toolkit/theme/paint_manager.h"
#include <algorithm>

namespace {

const RECT g_rcNothing = {0, 0, 0, 0};

// The toolkit's visual-styles binding opened for the header class on the grid.
UxThemeLibrary* OpenHeaderTheme(HWND hWnd)
{
    UxThemeLibrary& ux = g_CurrentPaintManager.m_UxTheme;
    if (!ux.IsUsable(true) || ux.OpenThemeData(hWnd, L"HEADER") == NULL)
        return NULL;
    return &ux;
}

bool DrawHeaderPart(HWND hWnd, HDC hDC, int nPart, int nState, const RECT& rc)
{
    UxThemeLibrary* pUx = OpenHeaderTheme(hWnd);
    if (pUx == NULL)
        return false;
    const HRESULT hr = pUx->DrawThemeBackground(hDC, nPart, nState, &rc, &rc);
    pUx->CloseThemeData(true);
    return SUCCEEDED(hr);
}

COLORREF Mix(COLORREF a, COLORREF b, int nPercentB)
{
    const int nA = 100 - nPercentB;
    return RGB((GetRValue(a) * nA + GetRValue(b) * nPercentB) / 100, (GetGValue(a) * nA + GetGValue(b) * nPercentB) / 100,
               (GetBValue(a) * nA + GetBValue(b) * nPercentB) / 100);
}

}  // namespace

COLORREF CExtGridBaseWnd::GetBrushColor(int nIndex)
{
    // Highlights are the selection colour mixed into the cell's ground: band cells over
    // the face colour (negative indices), data cells over the window colour.
    const COLORREF clrGround = GetColor(nIndex < 0 ? COLOR_3DFACE : COLOR_WINDOW);
    const COLORREF clrHighlight = GetColor(COLOR_HIGHLIGHT);
    switch (nIndex < 0 ? -nIndex : nIndex)
    {
    case 1:
        return Mix(clrGround, clrHighlight, 15);
    case 2:
        return Mix(clrGround, clrHighlight, 30);
    default:
        return Mix(clrGround, clrHighlight, 45);
    }
}

void CExtGridBaseWnd::ResetExtents(bool bLeftColumns, bool bRightColumns, bool bTopRows, bool bBottomRows)
{
    if (bLeftColumns)
        m_mapExtentsLeft.RemoveAll();
    if (bRightColumns)
        m_mapExtentsRight.RemoveAll();
    if (bTopRows)
        m_mapExtentsTop.RemoveAll();
    if (bBottomRows)
        m_mapExtentsBottom.RemoveAll();
}

COLORREF CExtGridBaseWnd::OnQueryCellBackColor(int, int, int, int, const RECT&, const RECT&, DWORD, DWORD)
{
    return COLORREF(-1);
}

bool CExtGridBaseWnd::OnQueryGridLines(bool bHorizontal, int, int, DWORD)
{
    return (GetScrollItemStyle() & (bHorizontal ? GRID_LINES_H : GRID_LINES_V)) != 0;
}

void CExtGridBaseWnd::OnWalkAreaStart(DWORD, CDC*, const RECT&) {}
void CExtGridBaseWnd::OnWalkAreaEnd(DWORD, CDC*, const RECT&) {}

bool CExtGridBaseWnd::OnCellEditStart(int, int, int, int, DWORD, const RECT&, const RECT&, const RECT&)
{
    return false;
}

bool CExtGridBaseWnd::EditCell(int nColumn, int nRow, int nColType, int nRowType, DWORD dwFlags)
{
    if (nColType != 0 && nRowType != 0)
        return false;
    const POINT ptFocus = FocusGet();
    if (nColumn < 0)
        nColumn = ptFocus.x;
    if (nRow < 0)
        nRow = ptFocus.y;
    if ((dwFlags & EDIT_NO_ENSURE_VISIBLE) == 0)
    {
        if (nColType == 0 && !EnsureColumnVisible(nColumn, false))
            return false;
        if (nRowType == 0 && !EnsureRowVisible(nRow, false))
            return false;
    }
    RECT rcExtent, rcCell;
    if (!GetCellRects(nColumn, nRow, nColType, nRowType, &rcExtent, &rcCell))
        return false;
    return OnCellEditStart(nColumn, nRow, nColType, nRowType, dwFlags, rcExtent, rcCell, g_rcNothing);
}

void CExtGridBaseWnd::OnPaintItems(CDC& dc, bool bFocused)
{
    const int nSaved = dc.SaveDC();
    dc.SetTextColor(GetColor(COLOR_HIGHLIGHTTEXT + 4));  // index 18, the button text
    CFont* pFont = GetPaintFont();
    if (pFont != NULL)
        dc.SelectObject(pFont);
    dc.SetBkMode(TRANSPARENT);
    OnPaintCells(&dc, bFocused, NULL);
    dc.RestoreDC(nSaved);
}

// ---- the walk ---------------------------------------------------------------------

bool CExtGridBaseWnd::OnPaintCells(CDC* pDC, bool bFocused, HIT_TEST_INFO* pHTI)
{
    const bool bHitTest = pHTI != NULL || pDC == NULL || pDC->GetSafeHdc() == NULL;
    if (bHitTest && pHTI == NULL)
        return false;
    WALK_CONTEXT ctx = {pDC, pHTI, bFocused, {0, 0, 0, 0}};
    if (!bHitTest)
        pDC->GetClipBox(&ctx.rcClip);
    RECT rcArea;
    GetClientRectEx(&rcArea);  // rebuilds the bands
    if (bHitTest)
    {
        pHTI->m_dwAreaFlags = 0;
        RECT rcClient;
        GetClientRect(&rcClient);
        if (!::PtInRect(&rcClient, pHTI->m_ptClient))
            return false;
        const RECT* arrCorners[4] = {&m_rcOuterTopLeft, &m_rcOuterTopRight, &m_rcOuterBottomLeft,
                                     &m_rcOuterBottomRight};
        const DWORD arrFlags[4] = {0x105, 0x109, 0x106, 0x10A};
        for (int i = 0; i < 4; i++)
            if (!::IsRectEmpty(arrCorners[i]) && ::PtInRect(arrCorners[i], pHTI->m_ptClient))
            {
                pHTI->m_dwAreaFlags = arrFlags[i];
                return false;
            }
    }
    if (rcArea.right < rcArea.left || rcArea.bottom < rcArea.top)
        return false;
    if (WalkDataArea(ctx, rcArea))
        return true;
    if (WalkBands(ctx))
        return true;
    if (!bHitTest)
        PaintCorners(ctx);
    return false;
}

bool CExtGridBaseWnd::AreaTouched(const WALK_CONTEXT& ctx, const RECT& rc) const
{
    if (::IsRectEmpty(&rc))
        return false;
    if (ctx.pHTI != NULL)
        return ::PtInRect(&rc, ctx.pHTI->m_ptClient) != FALSE;
    RECT rcOut;
    return ::IntersectRect(&rcOut, &rc, &ctx.rcClip) != FALSE;
}

bool CExtGridBaseWnd::IsRowMajorWalk() const
{
    if ((GetScrollItemStyle() & __ESIS_PAINT_BY_COLUMNS) == 0)
        return GetScrollTypeV() >= __ESIS_ST_ITEM;
    return GetScrollTypeH() < __ESIS_ST_ITEM;
}

bool CExtGridBaseWnd::WalkDataArea(WALK_CONTEXT& ctx, const RECT& rcArea)
{
    if (ctx.pHTI == NULL && AreaTouched(ctx, rcArea))
        OnPaintOuterAreaBackground(*ctx.pDC, rcArea, 0x200);
    const bool bRows = IsRowMajorWalk();
    int nFirst, nLast, nOffset;
    GetVisibleRangeOfAxis(!bRows, nFirst, nLast, nOffset);
    LONGLONG x = nOffset;
    for (int i = nFirst, nVisible = 0; i <= nLast; i++, nVisible++)
    {
        const int w = InnerExtent(!bRows, i, NULL, NULL);
        RECT rcBand = rcArea;
        if (bRows)
            rcBand.top = (LONG)x, rcBand.bottom = (LONG)(x + w);
        else
            rcBand.left = (LONG)x, rcBand.right = (LONG)(x + w);
        x += w;
        if (!AreaTouched(ctx, rcBand))
            continue;
        bool bStop = false;
        if (WalkBandCells(ctx, bRows, rcBand, i, nVisible, 0x200, 0, bStop))
            return true;
        if (bStop)
            break;
    }
    if (ctx.pHTI != NULL && ::PtInRect(&rcArea, ctx.pHTI->m_ptClient))
        ctx.pHTI->m_dwAreaFlags = 0x200;
    return false;
}

bool CExtGridBaseWnd::WalkBands(WALK_CONTEXT& ctx)
{
    struct Band
    {
        const RECT* pRect;
        DWORD dwFlags;
        int nCount;
        bool bSide, bNear;
    } arrBands[4] = {
        {&m_rcOuterRight, 0x108, m_nCountOuterRight, true, false},
        {&m_rcOuterLeft, 0x104, m_nCountOuterLeft, true, true},
        {&m_rcOuterBottom, 0x102, m_nCountOuterBottom, false, false},
        {&m_rcOuterTop, 0x101, m_nCountOuterTop, false, true},
    };
    for (const Band& band : arrBands)
    {
        if (band.nCount <= 0 || !AreaTouched(ctx, *band.pRect))
            continue;
        if (ctx.pHTI == NULL)
            OnPaintOuterAreaBackground(*ctx.pDC, *band.pRect, band.dwFlags);
        // Side bands: every visible data row across the band's columns; top and bottom
        // bands: every outer row across the visible data columns.
        LONGLONG y = band.bSide ? 0 : band.pRect->top;
        int nFirst = 0, nLast = band.nCount - 1, nOffset = 0;
        if (band.bSide)
        {
            GetVisibleRangeOfAxis(false, nFirst, nLast, nOffset);
            y = nOffset;
        }
        for (int i = nFirst, nVisible = 0; i <= nLast; i++, nVisible++)
        {
            const int h = band.bSide ? InnerExtent(false, i, NULL, NULL) : RowExtentGet(band.bNear, i);
            RECT rcRow = *band.pRect;
            rcRow.top = (LONG)y;
            rcRow.bottom = (LONG)(y + h);
            y += h;
            if (!AreaTouched(ctx, rcRow))
                continue;
            bool bStop = false;
            const int nRow = band.bSide ? i : ~i;
            const int nColumnBand = band.bSide ? (band.bNear ? -1 : 1) : 0;
            if (WalkBandCells(ctx, true, rcRow, nRow, nVisible, band.dwFlags, nColumnBand, bStop))
                return true;
            if (bStop)
                break;
        }
        if (ctx.pHTI != NULL && ctx.pHTI->m_dwAreaFlags == 0)
            ctx.pHTI->m_dwAreaFlags = band.dwFlags;
        if (ctx.pHTI != NULL)
            return false;
    }
    return false;
}

bool CExtGridBaseWnd::WalkBandCells(WALK_CONTEXT& ctx, bool bAlongColumns, const RECT& rcBand, int nFixed,
                                    int nVisibleFixed, DWORD dwAreaFlags, int nOuterBand, bool& bStop)
{
    if (nFixed >= 0 && (bAlongColumns ? IsWalkRowSkipped(nFixed, dwAreaFlags) : IsWalkColumnSkipped(nFixed, dwAreaFlags)))
    {
        bStop = true;
        return false;
    }
    if (::IsRectEmpty(&rcBand) || (m_nCountColumns == 0 && m_nCountRows == 0) || !AreaTouched(ctx, rcBand))
        return false;
    RECT rcArea;
    GetClientRectEx(&rcArea);
    const bool bPartial = !::EqualRect(&rcBand, &rcArea) && ctx.pHTI == NULL;
    if (bPartial)
        OnWalkAreaStart(dwAreaFlags, ctx.pDC, rcBand);
    int nFirst = 0, nLast = -1, nOffset = 0;
    const bool bNear = nOuterBand < 0;
    if (nOuterBand == 0)
        GetVisibleRangeOfAxis(bAlongColumns, nFirst, nLast, nOffset);
    else
    {
        nLast = (bNear ? m_nCountOuterLeft : m_nCountOuterRight) - 1;
        nOffset = bNear ? m_rcOuterLeft.left : m_rcOuterRight.left;
    }
    // The extra space of the band's own row (or column) narrows each of its cells across
    // the band, as GetCellRects narrows them.
    int nFixedBefore = 0, nFixedAfter = 0;
    if (nFixed >= 0)
        InnerExtent(!bAlongColumns, nFixed, &nFixedBefore, &nFixedAfter);
    bool bResult = false;
    LONGLONG x = nOffset;
    for (int i = nFirst, nVisible = 0; i <= nLast; i++, nVisible++)
    {
        int nBefore = 0, nAfter = 0;
        const int w = nOuterBand == 0 ? InnerExtent(bAlongColumns, i, &nBefore, &nAfter) : ColumnExtentGet(bNear, i);
        RECT rcExtent = rcBand, rcCell;
        if (bAlongColumns)
            rcExtent.left = (LONG)x, rcExtent.right = (LONG)(x + w);
        else
            rcExtent.top = (LONG)x, rcExtent.bottom = (LONG)(x + w);
        x += w;
        const LONG nBandEnd = bAlongColumns ? rcBand.right : rcBand.bottom;
        if ((bAlongColumns ? rcExtent.left : rcExtent.top) >= nBandEnd)
            break;
        rcCell = rcExtent;
        if (bAlongColumns)
        {
            rcCell.left += nBefore, rcCell.right = std::max(rcCell.left, rcCell.right - nAfter);
            rcCell.top += nFixedBefore, rcCell.bottom = std::max(rcCell.top, rcCell.bottom - nFixedAfter);
        }
        else
        {
            rcCell.top += nBefore, rcCell.bottom = std::max(rcCell.top, rcCell.bottom - nAfter);
            rcCell.left += nFixedBefore, rcCell.right = std::max(rcCell.left, rcCell.right - nFixedAfter);
        }
        const int nItem = nOuterBand == 0 ? i : ~i;
        const int nColumn = bAlongColumns ? nItem : nFixed, nRow = bAlongColumns ? nFixed : nItem;
        const int nVisColumn = bAlongColumns ? nVisible : nVisibleFixed;
        const int nVisRow = bAlongColumns ? nVisibleFixed : nVisible;
        bool bStopColumns = false, bStopRows = false;
        if (OnWalkCell(ctx.pDC, ctx.pHTI, nVisColumn, nVisRow, nColumn, nRow, rcExtent, rcCell, 0, bStopColumns,
                       bStopRows, dwAreaFlags, ctx.bFocused))
        {
            bResult = true;
            break;
        }
        if (bAlongColumns ? bStopColumns : bStopRows)
            break;
    }
    if (bPartial)
        OnWalkAreaEnd(dwAreaFlags, ctx.pDC, rcBand);
    return bResult;
}

bool CExtGridBaseWnd::OnWalkCell(CDC* pDC, HIT_TEST_INFO* pHTI, int nVisibleColumn, int nVisibleRow, int nColumn,
                                 int nRow, const RECT& rcExtent, const RECT& rcCell, LPARAM lReserved,
                                 bool& bStopColumns, bool& bStopRows, DWORD dwAreaFlags, bool bFocused)
{
    if (::IsRectEmpty(&rcExtent))
        return false;
    if (pHTI == NULL && pDC != NULL && !pDC->RectVisible(&rcExtent))
        return false;
    if (nColumn >= 0 && IsWalkColumnSkipped(nColumn, dwAreaFlags))
        return bStopColumns = true, false;
    if (nRow >= 0 && IsWalkRowSkipped(nRow, dwAreaFlags))
        return bStopRows = true, false;
    if (pHTI != NULL)
    {
        if (!::PtInRect(&rcExtent, pHTI->m_ptClient))
            return false;
        pHTI->m_nColNo = nColumn;
        pHTI->m_nRowNo = nRow;
        pHTI->m_nVisibleColNo = nVisibleColumn;
        pHTI->m_nVisibleRowNo = nVisibleRow;
        pHTI->m_dwAreaFlags = dwAreaFlags;
        pHTI->m_rcExtra = rcExtent;
        pHTI->m_rcItem = rcCell;
        AddEdgeBits(*pHTI);
        return true;
    }
    const int nPlainColumn = nColumn < 0 ? ~nColumn : nColumn;
    const int nPlainRow = nRow < 0 ? ~nRow : nRow;
    DWORD dwPaintFlags = CellPaintFlags(nPlainColumn, nPlainRow, dwAreaFlags);
    if (bFocused)
        dwPaintFlags |= PAINT_FOCUSED_WINDOW;
    OnPaintCell(*pDC, nVisibleColumn, nVisibleRow, nPlainColumn, nPlainRow, rcExtent, rcCell, lReserved, dwAreaFlags,
                dwPaintFlags);
    return false;
}

DWORD CExtGridBaseWnd::CellPaintFlags(int nColumn, int nRow, DWORD dwAreaFlags)
{
    const DWORD dwEx = GetScrollItemStyleEx();
    const POINT ptFocus = FocusGet();
    const HIT_TEST_INFO& hover = m_htiHover;
    const bool bHoverInner = hover.m_nColNo >= 0 && hover.m_nRowNo >= 0 && hover.IsInner();
    const bool bHoverOuter = !hover.IsEmpty() && hover.IsOuter();
    DWORD dwFlags = 0;
    const bool bOuter = (dwAreaFlags & HIT_TEST_INFO::AREA_OUTER) != 0;
    if (bOuter)
    {
        const bool bSide = (dwAreaFlags & (HIT_TEST_INFO::AREA_OUTER_LEFT | HIT_TEST_INFO::AREA_OUTER_RIGHT)) != 0;
        if ((dwEx & 0x2) && (dwEx & 0x80) && bHoverOuter)
        {
            if ((bSide && nRow == hover.m_nRowNo) || (!bSide && nColumn == hover.m_nColNo))
                dwFlags |= PAINT_HOVER_COLUMN | PAINT_HOVER_ROW;
        }
        else if ((dwEx & 0x1) && bHoverInner)
        {
            if (bSide && (dwEx & 0x8) && nRow == hover.m_nRowNo)
                dwFlags |= PAINT_HOVER_ROW;
            if (!bSide && (dwEx & 0x20) && nColumn == hover.m_nColNo)
                dwFlags |= PAINT_HOVER_COLUMN;
        }
        if (!bSide && (dwEx & 0x200) && IsSelected(nColumn, -1))
            dwFlags |= PAINT_SELECTED_COLUMN;
        if (bSide && (dwEx & 0x800) && IsSelected(-1, nRow))
            dwFlags |= PAINT_SELECTED_ROW;
        if (!bSide && (dwEx & 0x2000) && nColumn == ptFocus.x)
            dwFlags |= PAINT_FOCUS_COLUMN;
        if (bSide && (dwEx & 0x8000) && nRow == ptFocus.y)
            dwFlags |= PAINT_FOCUS_ROW;
        return dwFlags;
    }
    if ((dwEx & 0x1) && (dwEx & 0x40) && bHoverInner)
    {
        if (nColumn == hover.m_nColNo && nRow == hover.m_nRowNo)
            dwFlags |= PAINT_HOVER_COLUMN | PAINT_HOVER_ROW;
        if ((dwEx & 0x10) && nColumn == hover.m_nColNo)
            dwFlags |= PAINT_HOVER_COLUMN;
        if ((dwEx & 0x4) && nRow == hover.m_nRowNo)
            dwFlags |= PAINT_HOVER_ROW;
    }
    else if ((dwEx & 0x2) && (dwEx & 0x80) && bHoverOuter)
    {
        bool bSideHover = false;
        hover.IsOuter(&bSideHover);
        if (bSideHover && (dwEx & 0x4) && nRow == hover.m_nRowNo)
            dwFlags |= PAINT_HOVER_ROW;
        if (!bSideHover && (dwEx & 0x10) && nColumn == hover.m_nColNo)
            dwFlags |= PAINT_HOVER_COLUMN;
    }
    if ((dwEx & 0x100) && IsSelected(nColumn, -1))
        dwFlags |= PAINT_SELECTED_COLUMN;
    if ((dwEx & 0x400) && IsSelected(-1, nRow))
        dwFlags |= PAINT_SELECTED_ROW;
    if ((dwEx & 0x1000) && nColumn == ptFocus.x)
        dwFlags |= PAINT_FOCUS_COLUMN;
    if ((dwEx & 0x4000) && nRow == ptFocus.y)
        dwFlags |= PAINT_FOCUS_ROW;
    return dwFlags;
}

void CExtGridBaseWnd::PaintCorners(WALK_CONTEXT& ctx)
{
    const RECT* arrCorners[4] = {&m_rcOuterTopLeft, &m_rcOuterTopRight, &m_rcOuterBottomLeft, &m_rcOuterBottomRight};
    const DWORD arrFlags[4] = {0x105, 0x109, 0x106, 0x10A};
    for (int i = 0; i < 4; i++)
        if (AreaTouched(ctx, *arrCorners[i]))
            OnPaintOuterAreaBackground(*ctx.pDC, *arrCorners[i], arrFlags[i]);
}

// ---- painting ----------------------------------------------------------------------

void CExtGridBaseWnd::OnPaintOuterAreaBackground(CDC& dc, const RECT& rc, DWORD dwAreaFlags)
{
    if ((dwAreaFlags & HIT_TEST_INFO::AREA_OUTER) == 0)
        return;
    const COLORREF clrFace = GetColor(COLOR_3DFACE);
    if (clrFace != COLORREF(-1))
        dc.FillSolidRect(&rc, clrFace);
    const bool bCorner = (dwAreaFlags & 0x3) != 0 && (dwAreaFlags & 0xC) != 0;
    if ((GetScrollItemStyleEx() & 0x20000000) != 0)
    {
        int nPart = 0;
        if (dwAreaFlags == 0x101 || dwAreaFlags == 0x109 || dwAreaFlags == 0x10A)
            nPart = 3;
        else if (dwAreaFlags == 0x105 || dwAreaFlags == 0x106)
            nPart = 1;
        if (nPart != 0 && DrawHeaderPart(m_hWnd, dc.GetSafeHdc(), nPart, 1, rc))
            return;
    }
    if (bCorner && (GetScrollItemStyleEx() & 0x4000000) != 0)
        dc.Draw3dRect(&rc, GetColor(COLOR_BTNHIGHLIGHT), GetColor(COLOR_BTNSHADOW));
}

void CExtGridBaseWnd::FillHighlight(CDC& dc, const RECT& rc, DWORD dwPaintFlags, bool bOuter)
{
    const int nSign = bOuter ? -1 : 1;
    int nIndex = 0;
    if (dwPaintFlags & (PAINT_FOCUS_COLUMN | PAINT_FOCUS_ROW))
        nIndex = 3;
    else if (dwPaintFlags & (PAINT_SELECTED_COLUMN | PAINT_SELECTED_ROW))
        nIndex = 2;
    else if (dwPaintFlags & (PAINT_HOVER_COLUMN | PAINT_HOVER_ROW))
        nIndex = 1;
    if (nIndex != 0)
        dc.FillSolidRect(&rc, GetBrushColor(nSign * nIndex));
}

void CExtGridBaseWnd::OnPaintCell(CDC& dc, int nVisibleColumn, int nVisibleRow, int nColumn, int nRow,
                                  const RECT& rcExtent, const RECT& rcCell, LPARAM, DWORD dwAreaFlags,
                                  DWORD dwPaintFlags)
{
    if (::IsRectEmpty(&rcCell))
        return;
    const bool bPressed = (dwPaintFlags & (PAINT_PRESSED_H | PAINT_PRESSED_V)) != 0;
    const COLORREF clrBack =
        OnQueryCellBackColor(nColumn, nRow, nVisibleColumn, nVisibleRow, rcExtent, rcCell, dwAreaFlags, dwPaintFlags);
    const bool bOwnColor = clrBack != COLORREF(-1);
    RECT rcPressed = rcCell;
    if (dwPaintFlags & PAINT_PRESSED_H)
        rcPressed.right--;
    if (dwPaintFlags & PAINT_PRESSED_V)
        rcPressed.bottom--;
    const DWORD dwHighlight = dwPaintFlags & 0x3F;
    if (dwAreaFlags & HIT_TEST_INFO::AREA_OUTER)
    {
        if (bOwnColor && !bPressed)
            dc.FillSolidRect(&rcCell, clrBack);
        if ((GetScrollItemStyleEx() & 0x20000000) != 0)
        {
            const int nState = bPressed ? 3 : ((dwPaintFlags & 3) == 3 ? 2 : 1);
            if (DrawHeaderPart(m_hWnd, dc.GetSafeHdc(), 1, nState, rcCell))
                return;
        }
        if (bOwnColor)
            dc.FillSolidRect(&rcCell, clrBack);
        else if (bPressed)
            dc.FillSolidRect(&rcPressed, GetColor(COLOR_BTNHIGHLIGHT + 1));  // index 21, the dark shadow
        else if (dwHighlight == 0)
            dc.Draw3dRect(&rcCell, GetColor(COLOR_BTNHIGHLIGHT), GetColor(COLOR_BTNSHADOW));
        else
            FillHighlight(dc, rcCell, dwPaintFlags, true);
        return;
    }
    if (bOwnColor)
        dc.FillSolidRect(&rcCell, clrBack);
    else if (bPressed)
        dc.FillSolidRect(&rcPressed, GetColor(COLOR_BTNHIGHLIGHT + 1));
    else if (dwHighlight != 0)
        FillHighlight(dc, rcCell, dwPaintFlags, false);
    if (bPressed)
        return;
    // The selection and the focus frame leave the grid-line pixels alone.
    RECT rcInner = rcCell;
    if (OnQueryGridLines(true, nColumn, nRow, dwAreaFlags))
        rcInner.bottom = std::max(rcInner.top, rcInner.bottom - 1);
    if (OnQueryGridLines(false, nColumn, nRow, dwAreaFlags))
        rcInner.right = std::max(rcInner.left, rcInner.right - 1);
    const bool bFocusedWnd = (dwPaintFlags & PAINT_FOCUSED_WINDOW) != 0;
    if ((bFocusedWnd || (GetScrollItemStyle() & GRID_SHOW_SELECTION_UNFOCUSED) != 0) && OnQuerySelected(nColumn, nRow))
        dc.FillSolidRect(&rcInner, bOwnColor ? clrBack : GetColor(bFocusedWnd ? COLOR_HIGHLIGHT : COLOR_3DFACE));
    PaintFocusFrame(dc, nColumn, nRow, rcInner);
}

void CExtGridBaseWnd::PaintFocusFrame(CDC& dc, int nColumn, int nRow, const RECT& rc)
{
    const int nMode = GetSelectionMode();
    const POINT ptFocus = FocusGet();
    if (nMode == 0 || (nColumn != ptFocus.x && nRow != ptFocus.y))
        return;
    if (nMode == GRID_SELECT_CELLS)
    {
        if (nColumn == ptFocus.x && nRow == ptFocus.y)
            OnDrawFocusRect(dc, rc);
        return;
    }
    const bool bRows = nMode == GRID_SELECT_ROWS;
    if (bRows ? nRow != ptFocus.y : nColumn != ptFocus.x)
        return;
    // The whole focus row (column) is framed in pieces, one per cell: each cell gives its
    // long edges, the first and the last item the ends.
    const int nIndex = bRows ? nColumn : nRow;
    const int nCount = bRows ? m_nCountColumns : m_nCountRows;
    const bool bFirst = nIndex == 0, bLast = nCount >= 0 && nIndex == nCount - 1;
    RECT rcClip = rc;
    RECT rcFrame = rc;
    if (bRows)
    {
        if (!bFirst)
            rcFrame.left -= 2;
        if (!bLast)
            rcFrame.right += 2;
    }
    else
    {
        if (!bFirst)
            rcFrame.top -= 2;
        if (!bLast)
            rcFrame.bottom += 2;
    }
    const int nSaved = dc.SaveDC();
    dc.IntersectClipRect(&rcClip);
    OnDrawFocusRect(dc, rcFrame);
    dc.RestoreDC(nSaved);
}
