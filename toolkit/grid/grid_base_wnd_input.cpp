// The grid base window's cursor choice and its size and position handlers.
#include "toolkit/grid/grid_base_wnd.h"

bool CExtGridBaseWnd::IsColumnResizable(int nColumn, int)
{
    if (GetScrollItemStyle() & GRID_UNIFORM_COLUMNS)
        return false;  // uniform columns all keep the default extent
    int nMin = 0, nMax = 0;
    return GetColumnResizeRange(nColumn, nMin, nMax) && nMin < nMax;
}

bool CExtGridBaseWnd::IsRowResizable(int nRow, int)
{
    if (GetScrollItemStyle() & GRID_UNIFORM_ROWS)
        return false;
    int nMin = 0, nMax = 0;
    return GetRowResizeRange(nRow, nMin, nMax) && nMin < nMax;
}

HCURSOR CExtGridBaseWnd::SortClickCursor(int nBand)
{
    static const UINT g_arrIds[4] = {30275, 30276, 30278, 30277};
    if (m_hCursorSortClick[nBand] == NULL)
        m_hCursorSortClick[nBand] = ::LoadCursor(AfxGetResourceHandle(), MAKEINTRESOURCE(g_arrIds[nBand]));
    return m_hCursorSortClick[nBand];
}

bool CExtGridBaseWnd::OnSetCursor(const HIT_TEST_INFO& hti)
{
    if (m_nTrackingMode == __EGBWA_TRACKING_COLUMN_RESIZE)
    {
        ::SetCursor(m_hCursorResizeColumn != NULL ? m_hCursorResizeColumn : ::LoadCursor(NULL, IDC_SIZEWE));
        return true;
    }
    if (m_nTrackingMode == __EGBWA_TRACKING_ROW_RESIZE)
    {
        ::SetCursor(m_hCursorResizeRow != NULL ? m_hCursorResizeRow : ::LoadCursor(NULL, IDC_SIZENS));
        return true;
    }
    if (m_nTrackingMode != __EGBWA_TRACKING_NONE)
        return true;
    const DWORD dwStyle = GetScrollItemStyle();
    const DWORD dwArea = hti.m_dwAreaFlags;
    const int nColType = hti.GetColumnType(), nRowType = hti.GetRowType();
    HCURSOR hCursor = NULL;
    bool bResize = false;
    if ((dwStyle & 0x740000) != 0 && hti.m_nRowNo >= 0 && hti.m_nColNo >= 0 && (dwArea & 0xF0) != 0)
    {
        const bool bRowEdge = (dwArea & 0x30) != 0, bColumnEdge = (dwArea & 0xC0) != 0;
        bool bRow = false, bColumn = false;
        if (hti.IsInner())
        {
            bRow = bRowEdge && (dwStyle & GRID_RESIZE_ROWS_INNER) && IsRowResizable(hti.m_nRowNo, nRowType);
            bColumn = !bRow && bColumnEdge && (dwStyle & GRID_RESIZE_COLUMNS_INNER) &&
                      IsColumnResizable(hti.m_nColNo, nColType);
        }
        else
        {
            bRow = bRowEdge && nColType != 0 && (dwStyle & GRID_RESIZE_ROWS_OUTER) &&
                   IsRowResizable(hti.m_nRowNo, nRowType);
            bColumn = !bRow && bColumnEdge && nRowType != 0 && (dwStyle & GRID_RESIZE_COLUMNS_OUTER) &&
                      IsColumnResizable(hti.m_nColNo, nColType);
        }
        if (bRow)
            hCursor = m_hCursorResizeRow != NULL ? m_hCursorResizeRow : ::LoadCursor(NULL, IDC_SIZENS);
        else if (bColumn)
            hCursor = m_hCursorResizeColumn != NULL ? m_hCursorResizeColumn : ::LoadCursor(NULL, IDC_SIZEWE);
        bResize = bRow || bColumn;
    }
    if (!bResize)
    {
        if (dwArea & 0x10000)
            hCursor = m_hCursorFocusArrow;
        else if (dwArea & 0x8000)
            hCursor = m_hCursorSortArrow;
        else if (dwArea & 0x800)
            hCursor = m_hCursorIcon;
        else if (dwArea & 0x1000)
        {
            // Button types 2, 3, 1, 0 sit in the slots in this order.
            static const int g_arrSlot[4] = {3, 2, 0, 1};
            hCursor = hti.m_nButtonType >= 0 && hti.m_nButtonType < 4 ? m_hCursorButton[g_arrSlot[hti.m_nButtonType]]
                                                                      : NULL;
        }
        else if (dwArea & 0x400)
            hCursor = m_hCursorCheckBox;
        else if (hti.IsInner() && (hti.m_nRowNo >= 0 || hti.m_nColNo >= 0))
            hCursor = m_hCursorInner;
        else if (hti.IsOuter() && (dwStyle & 0x30000) != 0)
        {
            const bool bTB = (dwStyle & GRID_SORT_CURSOR_TB) != 0, bLR = (dwStyle & GRID_SORT_CURSOR_LR) != 0;
            if (nRowType == -1 && hti.m_nColNo >= 0 && bTB)
                hCursor = SortClickCursor(0);
            else if (nRowType == 1 && hti.m_nColNo >= 0 && bTB)
                hCursor = SortClickCursor(1);
            else if (nColType == -1 && hti.m_nRowNo >= 0 && bLR)
                hCursor = SortClickCursor(2);
            else if (nColType == 1 && hti.m_nRowNo >= 0 && bLR)
                hCursor = SortClickCursor(3);
        }
    }
    if (hCursor == NULL)
        hCursor = m_hCursorDefault != NULL ? m_hCursorDefault : ::LoadCursor(NULL, IDC_ARROW);
    ::SetCursor(hCursor);
    return true;
}

void CExtGridBaseWnd::UpdateClientFromSize(bool bRedraw)
{
    m_rcClientCached = {0, 0, 0, 0};
    if (!::IsWindowVisible(m_hWnd))
        SendMessage(WM_CANCELMODE);
    CheckFocusOnUnboundedAxes(bRedraw);
}

LRESULT CExtGridBaseWnd::OnWindowPosChangedMsg(WPARAM, LPARAM)
{
    const LRESULT lResult = Default();
    UpdateClientFromSize(true);
    return lResult;
}

LRESULT CExtGridBaseWnd::OnGridSizeMsg(WPARAM wParam, LPARAM lParam)
{
    const LRESULT lResult = CExtScrollWnd::OnSizeMsg(wParam, lParam);
    UpdateClientFromSize(true);
    return lResult;
}
