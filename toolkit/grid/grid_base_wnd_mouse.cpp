// The grid base window's mouse tracking: a left press selects (cells, rows, columns, by a
// header or in the data area), starts resizing a column or a row at a cell edge, or waits
// to see whether a pressed cell is dragged; the mouse is captured while a tracking mode is
// set and the cancel handler is the one place that ends every tracking.
//
// Clicks reach the derived grids through OnMouseClick with buttons 1 left, 2 right,
// 4 middle and events 1 press, 2 double click, 3 release. An Alt press is offered to it
// once, as a press: the key state tells the derived grid that Alt was down.
#include "toolkit/grid/grid_base_wnd.h"
#include <algorithm>

namespace {

bool KeyDown(int nVirtKey) { return ::GetAsyncKeyState(nVirtKey) < 0; }

POINT PointFromLParam(LPARAM lParam)
{
    POINT pt = {(short)LOWORD(lParam), (short)HIWORD(lParam)};
    return pt;
}

}  // namespace

// ---- hooks of the derived grids ---------------------------------------------------------

bool CExtGridBaseWnd::OnMouseClick(int, int nEvent, UINT, CPoint)
{
    if (nEvent == 1 || nEvent == 2 || nEvent == 3)
        HidePopups(false, true);
    return false;
}

bool CExtGridBaseWnd::OnSysKey(bool, UINT, UINT, UINT)
{
    HidePopups(false, true);
    return false;
}

bool CExtGridBaseWnd::OnKey(bool, UINT, UINT, UINT)
{
    HidePopups(false, true);
    return false;
}

void CExtGridBaseWnd::OnResizeApply(bool, int, int)
{
    // The base window keeps no per-item extents of inner columns and rows; the
    // data-bound grid stores what the user tracked.
}

bool CExtGridBaseWnd::IsCellDragEnabled() { return false; }

void CExtGridBaseWnd::GetDragThreshold(CSize& size) { size = CSize(3, 3); }

void CExtGridBaseWnd::OnOuterCellDragStart(const HIT_TEST_INFO&)
{
    // Dragging header cells belongs to the grid window.
}

HWND CExtGridBaseWnd::GetSafeInplaceActiveHwnd() { return NULL; }

bool CExtGridBaseWnd::OnCellPressedForDrag(HIT_TEST_INFO& hti)
{
    if (!IsCellDragEnabled() || !hti.IsInner() || KeyDown(VK_MENU) || GetSelectionMode() == 0)
        return false;
    m_htiDragPress = hti;
    const POINT ptCell = {hti.m_nColNo, hti.m_nRowNo};
    FocusSet(ptCell, false, false, false, false);
    Redraw();
    if (IsSelected(ptCell.x, ptCell.y))
        return true;
    SelectFocusCell(ptCell, true, true);
    return !IsSelectionEmpty() && !KeyDown(VK_CONTROL);
}

// ---- left button ---------------------------------------------------------------------

bool CExtGridBaseWnd::StartResizeAt(const HIT_TEST_INFO& hti)
{
    const DWORD dwStyle = GetScrollItemStyle();
    if ((dwStyle & 0x740000) == 0 || hti.m_nRowNo < 0 || hti.m_nColNo < 0)
        return false;
    const DWORD dwArea = hti.m_dwAreaFlags;
    bool bSide = false;
    const bool bOuter = hti.IsOuter(&bSide), bInner = hti.IsInner();
    bool bRow = false, bColumn = false;
    if ((dwArea & (HIT_TEST_INFO::AREA_NEAR_TOP_EDGE | HIT_TEST_INFO::AREA_NEAR_BOTTOM_EDGE)) != 0 &&
        (dwStyle & GRID_UNIFORM_ROWS) == 0)
        bRow = (bOuter && bSide && (dwStyle & GRID_RESIZE_ROWS_OUTER)) || (bInner && (dwStyle & GRID_RESIZE_ROWS_INNER));
    if (!bRow &&
        (dwArea & (HIT_TEST_INFO::AREA_NEAR_LEFT_EDGE | HIT_TEST_INFO::AREA_NEAR_RIGHT_EDGE)) != 0 &&
        (dwStyle & GRID_UNIFORM_COLUMNS) == 0)
        bColumn = (bOuter && !bSide && (dwStyle & GRID_RESIZE_COLUMNS_OUTER)) ||
                  (bInner && (dwStyle & GRID_RESIZE_COLUMNS_INNER));
    if (!bRow && !bColumn)
        return false;
    const int nIndex = bRow ? hti.m_nRowNo : hti.m_nColNo;
    int nMin = 0, nMax = 0;
    if (!(bRow ? GetRowResizeRange(nIndex, nMin, nMax) : GetColumnResizeRange(nIndex, nMin, nMax)))
        return false;
    // The tracked extent is the item's own; the cell rectangle may be narrowed at its near
    // side (an indent), never at its far edge.
    const int nExtent = bRow ? QueryRowExtent(nIndex) : QueryColumnExtent(nIndex);
    m_nResizeMin = nMin;
    m_nResizeMax = nMax;
    m_nTrackedExtentStart = nExtent;
    m_nTrackedExtent = nExtent;
    ClampExtent(m_nTrackedExtent, nMin, nMax);
    m_htiTracking = hti;
    m_nTrackingMode = bRow ? __EGBWA_TRACKING_ROW_RESIZE : __EGBWA_TRACKING_COLUMN_RESIZE;
    OnSetCursor(hti);
    ::SetCapture(m_hWnd);
    OnResizeTrack(true, false, &hti.m_ptClient);
    return true;
}

LRESULT CExtGridBaseWnd::OnLButtonDownMsg(WPARAM wParam, LPARAM lParam)
{
    const POINT pt = PointFromLParam(lParam);
    if (m_nTrackingMode != __EGBWA_TRACKING_NONE)
    {
        SendMessage(WM_CANCELMODE);
        if (m_nTrackingMode != __EGBWA_TRACKING_NONE)
            return 0;
    }
    if ((m_nMouseActivateResult == MA_ACTIVATE || m_nMouseActivateResult == MA_ACTIVATEANDEAT) &&
        ::GetFocus() != m_hWnd)
        ::SetFocus(m_hWnd);
    if (!::IsWindow(m_hWnd) || OnMouseClick(1, 1, (UINT)wParam, CPoint(pt)))
        return 0;
    HIT_TEST_INFO htiEdge(pt);
    HitTest(htiEdge, true, true);
    if (StartResizeAt(htiEdge))
        return 0;
    HIT_TEST_INFO hti(pt);
    HitTest(hti);
    if (OnCellPressedForDrag(hti))
    {
        m_nTrackingMode = __EGBWA_TRACKING_OUTER_DND;
        ::SetCapture(m_hWnd);
        return 0;
    }
    if (GetSelectionMode() == 0 || (hti.m_nRowNo < 0 && hti.m_nColNo < 0))
        return Default();
    const DWORD dwStyle = GetScrollItemStyle();
    const bool bCtrl = KeyDown(VK_CONTROL), bShift = KeyDown(VK_SHIFT);
    const bool bReplace = !((dwStyle & GRID_MULTI_AREAS) != 0 && (bCtrl || bShift));
    bool bSide = false;
    if (hti.IsOuter(&bSide))
    {
        if ((bSide && (dwStyle & GRID_SELECT_BY_ROW_HEADER)) || (!bSide && (dwStyle & GRID_SELECT_BY_COLUMN_HEADER)))
            SelectByHeaderPress(hti, bSide, bShift, bReplace);
        return 0;
    }
    if (hti.IsInner())
        SelectByDataPress(hti, bCtrl, bShift, bReplace);
    return 0;
}

void CExtGridBaseWnd::SelectByHeaderPress(const HIT_TEST_INFO& hti, bool bRows, bool bShift, bool bReplace)
{
    const DWORD dwStyle = GetScrollItemStyle();
    const int nMode = GetSelectionMode();
    const DWORD dwMulti = bRows ? GRID_MULTI_ROWS : GRID_MULTI_COLUMNS;
    if (!(nMode == (int)(bRows ? GRID_SELECT_ROWS : GRID_SELECT_COLUMNS) ||
          (nMode == (int)GRID_SELECT_CELLS && (dwStyle & dwMulti) != 0)))
        return;
    const int nIndex = bRows ? hti.m_nRowNo : hti.m_nColNo;
    int nAcross = bRows ? GetColumnCount() : GetRowCount();
    if (nIndex < 0 || nAcross == 0)
        return;
    if (nAcross < 0)
    {
        // An unbounded axis: the row (column) runs as far as it is shown.
        int nFirst = 0, nLast = -1, nOffset = 0;
        bRows ? GetVisibleColumnRange(nFirst, nLast, nOffset) : GetVisibleRowRange(nFirst, nLast, nOffset);
        nAcross = nLast + 1;
        if (nAcross <= 0)
            return;
    }
    const bool bNearBand = bRows ? hti.GetColumnType() < 0 : hti.GetRowType() < 0;
    const int nFrom = bNearBand ? nAcross - 1 : 0, nTo = bNearBand ? 0 : nAcross - 1;
    RECT rc = bRows ? RECT{nFrom, nIndex, nTo, nIndex} : RECT{nIndex, nFrom, nIndex, nTo};
    const bool bFocusFollows = (dwStyle & GRID_FOCUS_FOLLOWS_SELECTION) != 0;
    POINT ptFocus = FocusGet();
    if ((dwStyle & dwMulti) != 0 && bShift && !IsSelectionEmpty())
    {
        RECT rcLast = m_arrSelection[m_arrSelection.GetSize() - 1];
        LONG& nFar = bRows ? rcLast.bottom : rcLast.right;
        if (nFar == nIndex)
            return;
        nFar = nIndex;
        (bRows ? ptFocus.y : ptFocus.x) = nIndex;
        if (!bFocusFollows)
            FocusSet(ptFocus, !bRows, bRows, false, false);
        SelectionSet(rcLast, false, true, true);
        bRows ? EnsureRowVisible(nIndex, true) : EnsureColumnVisible(nIndex, true);
        return;
    }
    if (!bFocusFollows)
    {
        (bRows ? ptFocus.y : ptFocus.x) = nIndex;
        FocusSet(ptFocus, false, false, false, false);
    }
    SelectionSet(rc, bReplace, false, true);
    bRows ? EnsureRowVisible(nIndex, true) : EnsureColumnVisible(nIndex, true);
    if ((dwStyle & GRID_DRAG_SELECT) != 0 && (dwStyle & dwMulti) != 0)
    {
        m_htiTracking = hti;
        m_nTrackingMode = bRows ? __EGBWA_TRACKING_ROWS_BY_HEADER : __EGBWA_TRACKING_COLUMNS_BY_HEADER;
        ::SetCapture(m_hWnd);
    }
}

void CExtGridBaseWnd::SelectByDataPress(const HIT_TEST_INFO& hti, bool bCtrl, bool bShift, bool bReplace)
{
    const DWORD dwStyle = GetScrollItemStyle();
    const int nMode = GetSelectionMode();
    const bool bFocusFollows = (dwStyle & GRID_FOCUS_FOLLOWS_SELECTION) != 0;
    const POINT ptCell = {hti.m_nColNo, hti.m_nRowNo};
    if (nMode == (int)GRID_SELECT_COLUMNS || nMode == (int)GRID_SELECT_ROWS)
    {
        const bool bRows = nMode == (int)GRID_SELECT_ROWS;
        const DWORD dwMulti = bRows ? GRID_MULTI_ROWS : GRID_MULTI_COLUMNS;
        const int nIndex = bRows ? ptCell.y : ptCell.x;
        POINT ptFocus = FocusGet();
        (bRows ? ptFocus.y : ptFocus.x) = nIndex;
        if (bRows && ptFocus.x < 0)
            ptFocus.x = ptCell.x;
        if (!bRows && ptFocus.y < 0)
            ptFocus.y = ptCell.y;
        if ((dwStyle & dwMulti) != 0 && bShift && !IsSelectionEmpty())
        {
            RECT rcLast = m_arrSelection[m_arrSelection.GetSize() - 1];
            (bRows ? rcLast.bottom : rcLast.right) = nIndex;
            if (!bFocusFollows)
                FocusSet(ptFocus, !bRows, bRows, false, false);
            SelectionSet(rcLast, false, true, true);
        }
        else
        {
            if (!bFocusFollows)
                FocusSet(ptFocus, !bRows, bRows, false, false);
            SelectFocusCell(ptCell, bReplace, true);
        }
        if ((dwStyle & GRID_DRAG_SELECT) != 0 && (dwStyle & dwMulti) != 0)
        {
            m_htiTracking = hti;
            m_nTrackingMode = bRows ? __EGBWA_TRACKING_ROWS : __EGBWA_TRACKING_COLUMNS;
            ::SetCapture(m_hWnd);
        }
        return;
    }
    if (nMode != (int)GRID_SELECT_CELLS)
        return;
    const int nColumns = GetColumnCount(), nRows = GetRowCount();
    if ((nColumns >= 0 && ptCell.x >= nColumns) || (nRows >= 0 && ptCell.y >= nRows))
        return;
    const DWORD dwRange = dwStyle & (GRID_MULTI_ROWS | GRID_MULTI_COLUMNS);
    if (!bReplace && dwRange != 0)
    {
        if (bCtrl && IsSelected(ptCell.x, ptCell.y))
            return;
        if (bShift && !IsSelectionEmpty())
        {
            RECT rcLast = m_arrSelection[m_arrSelection.GetSize() - 1];
            if (dwStyle & GRID_MULTI_COLUMNS)
                rcLast.right = ptCell.x;
            if (dwStyle & GRID_MULTI_ROWS)
                rcLast.bottom = ptCell.y;
            if (!bFocusFollows)
                FocusSet(ptCell, true, true, false, false);
            SelectionSet(rcLast, false, true, true);
        }
        else
        {
            if (!bFocusFollows)
                FocusSet(ptCell, true, true, false, false);
            SelectFocusCell(ptCell, false, true);
        }
    }
    else
        FocusSet(ptCell, true, true, true, true);
    if ((dwStyle & GRID_DRAG_SELECT) != 0 && dwRange != 0)
    {
        m_htiTracking = hti;
        m_nTrackingMode = dwRange == (GRID_MULTI_ROWS | GRID_MULTI_COLUMNS) ? __EGBWA_TRACKING_RANGE_CELLS
                          : dwRange == GRID_MULTI_ROWS                         ? __EGBWA_TRACKING_RANGE_ROWS
                                                                               : __EGBWA_TRACKING_RANGE_COLUMNS;
        ::SetCapture(m_hWnd);
        OnSetCursor(hti);
    }
}

void CExtGridBaseWnd::ApplyPressAsClick(const POINT& pt)
{
    SendMessage(WM_CANCELMODE);
    HIT_TEST_INFO hti(pt);
    HitTest(hti);
    if (!hti.IsInner())
        return;
    const POINT ptCell = {hti.m_nColNo, hti.m_nRowNo};
    const bool bAlt = KeyDown(VK_MENU), bCtrl = KeyDown(VK_CONTROL), bShift = KeyDown(VK_SHIFT);
    const DWORD dwStyle = GetScrollItemStyle();
    if (!bAlt && !bCtrl && !bShift)
    {
        SelectFocusCell(ptCell, true, false);
        FocusSet(ptCell, true, true, false, true);
        return;
    }
    if (bAlt || bShift || (dwStyle & GRID_MULTI_AREAS) == 0)
        return;
    const int nMode = GetSelectionMode();
    const DWORD dwRange = nMode == (int)GRID_SELECT_ROWS      ? (dwStyle & GRID_MULTI_ROWS)
                          : nMode == (int)GRID_SELECT_COLUMNS ? (dwStyle & GRID_MULTI_COLUMNS)
                                                              : (dwStyle & (GRID_MULTI_ROWS | GRID_MULTI_COLUMNS));
    if (dwRange == 0 || !IsSelected(ptCell.x, ptCell.y))
        return;
    // One more area over a selected cell: under the exclusive-or rule that deselects it.
    SelectFocusCell(ptCell, false, true);
    if ((dwStyle & GRID_FOCUS_FOLLOWS_SELECTION) == 0)
        FocusSet(ptCell, true, true, false, true);
}

LRESULT CExtGridBaseWnd::OnLButtonUpMsg(WPARAM wParam, LPARAM lParam)
{
    const POINT pt = PointFromLParam(lParam);
    if (m_nTrackingMode == __EGBWA_TRACKING_OUTER_DND && IsCellDragEnabled())
    {
        ApplyPressAsClick(pt);
        return 0;
    }
    SendMessage(WM_CANCELMODE);
    if (::IsWindow(m_hWnd) && OnMouseClick(1, 3, (UINT)wParam, CPoint(pt)))
        return 0;
    return Default();
}

LRESULT CExtGridBaseWnd::OnLButtonDblClkMsg(WPARAM wParam, LPARAM lParam)
{
    if (OnMouseClick(1, 2, (UINT)wParam, CPoint(PointFromLParam(lParam))))
        return 0;
    return Default();
}

LRESULT CExtGridBaseWnd::OnOtherButtonMsg(WPARAM wParam, LPARAM lParam)
{
    if (m_nTrackingMode != __EGBWA_TRACKING_NONE)
    {
        SendMessage(WM_CANCELMODE);
        return 0;
    }
    const MSG* pMsg = GetCurrentMessage();
    const UINT nMsg = pMsg != NULL ? pMsg->message : 0;
    const int nButton = (nMsg >= WM_MBUTTONDOWN && nMsg <= WM_MBUTTONDBLCLK) ? 4 : 2;
    int nEvent = 1;
    if (nMsg == WM_RBUTTONUP || nMsg == WM_MBUTTONUP)
        nEvent = 3;
    else if (nMsg == WM_RBUTTONDBLCLK || nMsg == WM_MBUTTONDBLCLK)
        nEvent = 2;
    if (OnMouseClick(nButton, nEvent, (UINT)wParam, CPoint(PointFromLParam(lParam))))
        return 0;
    return Default();
}

// ---- dragging ------------------------------------------------------------------------

void CExtGridBaseWnd::ExtendSelectionTo(int nColumn, int nRow, bool bColumns, bool bRows)
{
    if (IsSelectionEmpty())
        return;
    const DWORD dwStyle = GetScrollItemStyle();
    RECT rc = m_arrSelection[m_arrSelection.GetSize() - 1];
    const RECT rcOld = rc;
    if (bColumns && nColumn >= 0)
    {
        rc.right = nColumn;
        if ((dwStyle & GRID_MULTI_COLUMNS) == 0)
            rc.left = nColumn;
    }
    if (bRows && nRow >= 0)
    {
        rc.bottom = nRow;
        if ((dwStyle & GRID_MULTI_ROWS) == 0)
            rc.top = nRow;
    }
    if (::EqualRect(&rc, &rcOld))
        return;
    if ((dwStyle & GRID_FOCUS_FOLLOWS_SELECTION) == 0)
    {
        POINT ptFocus = FocusGet();
        if (bColumns && nColumn >= 0)
            ptFocus.x = nColumn;
        if (bRows && nRow >= 0)
            ptFocus.y = nRow;
        FocusSet(ptFocus, bColumns, bRows, false, false);
    }
    SelectionSet(rc, false, true, true);
}

LRESULT CExtGridBaseWnd::OnMouseMoveMsg(WPARAM, LPARAM lParam)
{
    const POINT pt = PointFromLParam(lParam);
    const DWORD dwStyle = GetScrollItemStyle();
    switch (m_nTrackingMode)
    {
    case __EGBWA_TRACKING_NONE:
        break;
    case __EGBWA_TRACKING_COLUMN_RESIZE:
    case __EGBWA_TRACKING_ROW_RESIZE:
        OnResizeTrack(false, false, &pt);
        return 0;
    case __EGBWA_TRACKING_OUTER_DND:
    {
        HIT_TEST_INFO hti(pt);
        HitTest(hti);
        CSize sizeThreshold(3, 3);
        GetDragThreshold(sizeThreshold);
        if (hti.IsEqual(m_htiDragPress) && abs(pt.x - m_htiDragPress.m_ptClient.x) <= sizeThreshold.cx &&
            abs(pt.y - m_htiDragPress.m_ptClient.y) <= sizeThreshold.cy)
            return 0;
        const HIT_TEST_INFO htiPress = m_htiDragPress;
        if (::GetCapture() == m_hWnd)
            ::ReleaseCapture();
        OnOuterCellDragStart(htiPress);
        return 0;
    }
    default:
    {
        HIT_TEST_INFO hti(pt);
        HitTest(hti);
        bool bSide = false;
        const bool bOuter = hti.IsOuter(&bSide), bInner = hti.IsInner();
        const bool bRowHeader = bOuter && bSide && (dwStyle & GRID_SELECT_BY_ROW_HEADER) != 0;
        const bool bColumnHeader = bOuter && !bSide && (dwStyle & GRID_SELECT_BY_COLUMN_HEADER) != 0;
        switch (m_nTrackingMode)
        {
        case __EGBWA_TRACKING_ROWS_BY_HEADER:
            if (bRowHeader)
                ExtendSelectionTo(-1, hti.m_nRowNo, false, true);
            break;
        case __EGBWA_TRACKING_COLUMNS_BY_HEADER:
            if (bColumnHeader)
                ExtendSelectionTo(hti.m_nColNo, -1, true, false);
            break;
        case __EGBWA_TRACKING_ROWS:
            if (bInner)
                ExtendSelectionTo(-1, hti.m_nRowNo, false, true);
            break;
        case __EGBWA_TRACKING_COLUMNS:
            if (bInner)
                ExtendSelectionTo(hti.m_nColNo, -1, true, false);
            break;
        case __EGBWA_TRACKING_RANGE_ROWS:
            if (bInner || bRowHeader)
                ExtendSelectionTo(-1, hti.m_nRowNo, false, true);
            break;
        case __EGBWA_TRACKING_RANGE_COLUMNS:
            if (bInner || bColumnHeader)
                ExtendSelectionTo(hti.m_nColNo, -1, true, false);
            break;
        case __EGBWA_TRACKING_RANGE_CELLS:
            if (bInner)
                ExtendSelectionTo(hti.m_nColNo, hti.m_nRowNo, true, true);
            break;
        }
        return 0;
    }
    }
    if (::GetCapture() == m_hWnd)
    {
        POINT ptScreen = pt;
        ::ClientToScreen(m_hWnd, &ptScreen);
        if (!IsCursorOverOwnWindows(ptScreen))
        {
            OnCancelTracking(true);
            return 0;
        }
    }
    if (OnHoverUpdate(&pt))
        return 0;
    return Default();
}

// ---- resizing ------------------------------------------------------------------------

int CExtGridBaseWnd::TrackerLineAt(int nExtent) const
{
    const bool bColumn = m_nTrackingMode == __EGBWA_TRACKING_COLUMN_RESIZE;
    const RECT& rc = m_htiTracking.m_rcItem;
    // The cell's near edge: its far edge less the extent it had when the press started.
    const int nNear = (bColumn ? rc.right : rc.bottom) - m_nTrackedExtentStart;
    return nNear + nExtent;
}

void CExtGridBaseWnd::DrawTrackerLine(int nPos)
{
    if (m_nTrackerLine == nPos || m_hWnd == NULL)
        return;
    const bool bColumn = m_nTrackingMode == __EGBWA_TRACKING_COLUMN_RESIZE;
    RECT rcAll;
    GetClientRectEx(&rcAll);
    for (const RECT* pBand : {&m_rcOuterTop, &m_rcOuterBottom, &m_rcOuterLeft, &m_rcOuterRight})
        if (!::IsRectEmpty(pBand))
            ::UnionRect(&rcAll, &rcAll, pBand);
    HDC hDC = ::GetDCEx(m_hWnd, NULL, DCX_CACHE | DCX_CLIPSIBLINGS | DCX_LOCKWINDOWUPDATE);
    if (hDC == NULL)
        hDC = ::GetDCEx(m_hWnd, NULL, DCX_CACHE | DCX_CLIPSIBLINGS);
    if (hDC == NULL)
        return;
    // A halftone pattern inverted twice leaves the pixels as they were.
    static const WORD g_arrPattern[8] = {0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA};
    HBITMAP hbmPattern = ::CreateBitmap(8, 8, 1, 1, g_arrPattern);
    HBRUSH hBrush = hbmPattern != NULL ? ::CreatePatternBrush(hbmPattern) : NULL;
    HGDIOBJ hOld = hBrush != NULL ? ::SelectObject(hDC, hBrush) : NULL;
    auto invert = [&](int nAt) {
        if (nAt < 0)
            return;
        if (bColumn)
            ::PatBlt(hDC, nAt, rcAll.top, 1, rcAll.bottom - rcAll.top, hBrush != NULL ? PATINVERT : DSTINVERT);
        else
            ::PatBlt(hDC, rcAll.left, nAt, rcAll.right - rcAll.left, 1, hBrush != NULL ? PATINVERT : DSTINVERT);
    };
    invert(m_nTrackerLine);
    invert(nPos);
    m_nTrackerLine = nPos;
    if (hOld != NULL)
        ::SelectObject(hDC, hOld);
    if (hBrush != NULL)
        ::DeleteObject(hBrush);
    if (hbmPattern != NULL)
        ::DeleteObject(hbmPattern);
    ::ReleaseDC(m_hWnd, hDC);
}

void CExtGridBaseWnd::OnResizeTrack(bool bStart, bool bFinish, const POINT* pPoint)
{
    const bool bColumn = m_nTrackingMode == __EGBWA_TRACKING_COLUMN_RESIZE;
    if (!bColumn && m_nTrackingMode != __EGBWA_TRACKING_ROW_RESIZE)
        return;
    const bool bLive = (GetScrollItemStyle() & (bColumn ? GRID_LIVE_RESIZE_COLUMNS : GRID_LIVE_RESIZE_ROWS)) != 0;
    const int nIndex = bColumn ? m_htiTracking.m_nColNo : m_htiTracking.m_nRowNo;
    if (bStart)
    {
        HidePopups(true, true);
        UpdateWindow();
        m_nTrackerLine = -1;
        const POINT pt = pPoint != NULL ? *pPoint : m_htiTracking.m_ptClient;
        m_sizeTrackingOffset.cx = m_htiTracking.m_rcItem.right - pt.x;
        m_sizeTrackingOffset.cy = m_htiTracking.m_rcItem.bottom - pt.y;
        return;
    }
    if (bFinish)
    {
        if (!bLive)
            DrawTrackerLine(-1);
        if (m_nTrackedExtent != m_nTrackedExtentStart)
            OnResizeApply(bColumn, nIndex, m_nTrackedExtent);
        return;
    }
    if (pPoint == NULL)
        return;
    const int nNear = (bColumn ? m_htiTracking.m_rcItem.right : m_htiTracking.m_rcItem.bottom) - m_nTrackedExtentStart;
    const int nOffset = bColumn ? m_sizeTrackingOffset.cx : m_sizeTrackingOffset.cy;
    int nExtent = std::max(0, (int)(bColumn ? pPoint->x : pPoint->y) - (nNear - nOffset));
    ClampExtent(nExtent, m_nResizeMin, m_nResizeMax);
    if (bLive)
    {
        if (nExtent != m_nTrackedExtent)
        {
            m_nTrackedExtent = nExtent;
            OnResizeApply(bColumn, nIndex, nExtent);
        }
        return;
    }
    m_nTrackedExtent = nExtent;
    DrawTrackerLine(TrackerLineAt(nExtent));
}

// ---- the cancel handler ---------------------------------------------------------------

LRESULT CExtGridBaseWnd::OnCancelModeMsg(WPARAM, LPARAM)
{
    if (m_bCancelRunning)
        return 0;
    m_bCancelRunning = true;
    HWND hWndEditor = GetSafeInplaceActiveHwnd();
    if (hWndEditor != NULL && ::IsWindow(hWndEditor))
    {
        if (::GetCapture() == hWndEditor)
            ::ReleaseCapture();
        ::DestroyWindow(hWndEditor);
    }
    HidePopups(true, true);
    if (m_nTrackingMode == __EGBWA_TRACKING_COLUMN_RESIZE || m_nTrackingMode == __EGBWA_TRACKING_ROW_RESIZE)
        OnResizeTrack(false, true, NULL);
    m_nTrackingMode = __EGBWA_TRACKING_NONE;
    m_nResizeMin = m_nResizeMax = m_nTrackedExtent = m_nTrackedExtentStart = 0;
    m_nTrackerLine = -1;
    m_htiTracking = HIT_TEST_INFO(-1, -1);
    if (::IsWindow(m_hWnd))
    {
        OnCancelTracking(true);
        if (::GetCapture() == m_hWnd)
            ::ReleaseCapture();
    }
    m_bCancelRunning = false;
    return 0;
}

LRESULT CExtGridBaseWnd::OnCaptureChangedMsg(WPARAM, LPARAM lParam)
{
    if (m_nTrackingMode != __EGBWA_TRACKING_NONE && (HWND)lParam != m_hWnd)
        SendMessage(WM_CANCELMODE);
    return Default();
}
