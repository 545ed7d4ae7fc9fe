// The grid window's cell painting: the pressed look of a header's column or row, the
// cell's own background and content, the image of a dragged header and the
// content-expand popup; and the hooks through which an application colours, fonts and
// paints cells without deriving a cell class.
#include "toolkit/grid/grid_wnd.h"

DWORD CExtGridWnd::PressedPaintFlags(int nColumn, int nRow, DWORD dwAreaFlags)
{
    const DWORD dwEx = m_dwGridStyleEx;
    const HIT_TEST_INFO& hti = m_htiOuterPressed;
    if ((dwEx & __EGSE_PRESSED_ANY) == 0 || hti.IsEmpty())
        return 0;
    const INT nColType = HIT_TEST_INFO::GetColumnType(dwAreaFlags);
    const INT nRowType = HIT_TEST_INFO::GetRowType(dwAreaFlags);
    const bool bSameColumn = hti.m_nColNo == nColumn && hti.GetColumnType() == nColType;
    const bool bSameRow = hti.m_nRowNo == nRow && hti.GetRowType() == nRowType;
    if (!bSameColumn && !bSameRow)
        return 0;
    // Only an inner column (row) is pressed as a whole: a header of a column sits in a
    // top or bottom band, with an inner column type.
    const bool bInnerColumn = bSameColumn && nColType == 0;
    const bool bInnerRow = bSameRow && nRowType == 0;
    const bool bOuter = (dwAreaFlags & HIT_TEST_INFO::AREA_OUTER) != 0;
    DWORD dwFlags = 0;
    if (bInnerColumn && (dwEx & (bOuter ? __EGSE_PRESSED_OUTER_COLUMN : __EGSE_PRESSED_INNER_COLUMN)) != 0)
        dwFlags |= PAINT_PRESSED_H;
    if (bInnerRow && (dwEx & (bOuter ? __EGSE_PRESSED_OUTER_ROW : __EGSE_PRESSED_INNER_ROW)) != 0)
        dwFlags |= PAINT_PRESSED_V;
    return dwFlags;
}

void CExtGridWnd::PaintCellWithFlags(CDC& dc, int nVisibleColumn, int nVisibleRow, int nColumn, int nRow,
                                     const RECT& rcExtent, const RECT& rcCell, DWORD dwAreaFlags,
                                     DWORD dwPaintFlags)
{
    const INT nColType = HIT_TEST_INFO::GetColumnType(dwAreaFlags);
    const INT nRowType = HIT_TEST_INFO::GetRowType(dwAreaFlags);
    CExtGridCell* pCell = GridCellGet(nColumn, nRow, nColType, nRowType, NULL, true, true);
    if (pCell == NULL)
    {
        CExtGridBaseWnd::OnPaintCell(dc, nVisibleColumn, nVisibleRow, nColumn, nRow, rcExtent, rcCell, 0, dwAreaFlags,
                                     dwPaintFlags);
        return;
    }
    RECT rcVisibleRange = {0, 0, 0, 0};
    GetVisibleRange(rcVisibleRange);
    if (!pCell->OnPaintBackground(*this, dc, nVisibleColumn, nVisibleRow, nColumn, nRow, nColType, nRowType,
                                  rcExtent, rcCell, rcVisibleRange, dwAreaFlags, dwPaintFlags))
        CExtGridBaseWnd::OnPaintCell(dc, nVisibleColumn, nVisibleRow, nColumn, nRow, rcExtent, rcCell, 0, dwAreaFlags,
                                     dwPaintFlags);
    pCell->OnPaint(*this, dc, nVisibleColumn, nVisibleRow, nColumn, nRow, nColType, nRowType, rcExtent, rcCell,
                   rcVisibleRange, dwAreaFlags, dwPaintFlags);
}

void CExtGridWnd::OnPaintCell(CDC& dc, int nVisibleColumn, int nVisibleRow, int nColumn, int nRow,
                              const RECT& rcExtent, const RECT& rcCell, LPARAM, DWORD dwAreaFlags, DWORD dwPaintFlags)
{
    if (::IsRectEmpty(&rcCell))
        return;
    dwPaintFlags |= PressedPaintFlags(nColumn, nRow, dwAreaFlags);
    PaintCellWithFlags(dc, nVisibleColumn, nVisibleRow, nColumn, nRow, rcExtent, rcCell, dwAreaFlags, dwPaintFlags);
}

COLORREF CExtGridWnd::OnQueryCellBackColor(int nColumn, int nRow, int nVisibleColumn, int nVisibleRow,
                                           const RECT& rcExtent, const RECT& rcCell, DWORD dwAreaFlags,
                                           DWORD dwPaintFlags)
{
    const INT nColType = HIT_TEST_INFO::GetColumnType(dwAreaFlags);
    const INT nRowType = HIT_TEST_INFO::GetRowType(dwAreaFlags);
    CExtGridCell* pCell = GridCellGet(nColumn, nRow, nColType, nRowType, NULL, true, true);
    if (pCell == NULL)
        return COLORREF(-1);
    RECT rcVisibleRange = {0, 0, 0, 0};
    GetVisibleRange(rcVisibleRange);
    CClientDC dc(this);
    return pCell->OnQueryBackColor(*this, dc, nVisibleColumn, nVisibleRow, nColumn, nRow, nColType, nRowType,
                                   rcExtent, rcCell, rcVisibleRange, dwAreaFlags, dwPaintFlags);
}

bool CExtGridWnd::OnQueryCellTextColor(LONG nColNo, LONG nRowNo, INT nColType, INT nRowType, COLORREF& clrText,
                                       bool* pbDisabled)
{
    if (pbDisabled != NULL)
        *pbDisabled = false;
    CExtGridCell* pCell = GridCellGet(nColNo, nRowNo, nColType, nRowType);
    if (pCell == NULL)
        return false;
    if (pbDisabled != NULL)
        *pbDisabled = (pCell->GetStyle() & CExtGridCell::__EGCS_READ_ONLY) != 0;
    RECT rcExtra = {0, 0, 0, 0}, rcCell = {0, 0, 0, 0}, rcVisibleRange = {0, 0, 0, 0};
    int nVisibleColumn = -1, nVisibleRow = -1;
    GetCellRects(nColNo, nRowNo, nColType, nRowType, &rcExtra, &rcCell, &nVisibleColumn, &nVisibleRow);
    GetVisibleRange(rcVisibleRange);
    // The cell asks with a device context only for the colours it may compute from it.
    CWindowDC dc(NULL);
    const COLORREF clr = pCell->OnQueryTextColor(*this, dc, nVisibleColumn, nVisibleRow, nColNo, nRowNo, nColType,
                                                 nRowType, rcExtra, rcCell, rcVisibleRange,
                                                 HIT_TEST_INFO::AreaFlagsFromTypes(nColType, nRowType), 0);
    if (clr == COLORREF(-1))
        return false;
    clrText = clr;
    return true;
}

void CExtGridWnd::OnPaintDraggedOuterCell(CDC& dc, LONG nVisibleColNo, LONG nVisibleRowNo, LONG nColNo, LONG nRowNo,
                                          const RECT& rc, DWORD dwAreaFlags)
{
    if (::IsRectEmpty(&rc))
        return;
    const int nOldMode = dc.SetBkMode(TRANSPARENT);
    CFont* pFont = GetPaintFont();
    CFont* pOldFont = pFont != NULL ? dc.SelectObject(pFont) : NULL;
    PaintCellWithFlags(dc, nVisibleColNo, nVisibleRowNo, nColNo, nRowNo, rc, rc, dwAreaFlags, PAINT_DRAG_IMAGE);
    if (pOldFont != NULL)
        dc.SelectObject(pOldFont);
    dc.SetBkMode(nOldMode);
}

bool CExtGridWnd::OnPaintItemContent(CExtContentExpandWnd::ITEM_PAINT_INFO& _pi)
{
    const HIT_TEST_INFO& htiPressed = m_htiOuterPressed;
    if (!htiPressed.IsEmpty())
    {
        OnPaintDraggedOuterCell(_pi.m_dc, htiPressed.m_nVisibleColNo, htiPressed.m_nVisibleRowNo, htiPressed.m_nColNo,
                                htiPressed.m_nRowNo, _pi.m_rcItem, htiPressed.m_dwAreaFlags);
        return true;
    }
    if (m_wndContentExpand.GetSafeHwnd() == NULL || m_htiExpanded.IsEmpty() || !m_htiExpanded.IsValidRect())
        return false;
    CExtGridCell* pCell = GetCell(m_htiExpanded);
    if (pCell == NULL)
        return false;
    return pCell->OnPaintExpandedContent(_pi, *this, m_htiExpanded, m_wndContentExpand, (INT)m_dwContentExpandFlags);
}

// ---- hooks ------------------------------------------------------------------------------
// The base grid paints, colours and edits every cell as the cell says; an application
// grid overrides these to step in for single cells.

bool CExtGridWnd::OnGridHookCellPaintBackground(const CExtGridCell&, CDC&, LONG, LONG, LONG, LONG, INT, INT,
                                                const RECT&, const RECT&, const RECT&, DWORD, DWORD)
{
    return false;
}

bool CExtGridWnd::OnGridHookCellPaintForeground(const CExtGridCell&, CDC&, LONG, LONG, LONG, LONG, INT, INT,
                                                const RECT&, const RECT&, const RECT&, DWORD, DWORD)
{
    return false;
}

bool CExtGridWnd::OnGridHookCellPaintText(bool, const CExtGridCell&, CDC&, LONG, LONG, LONG, LONG, INT, INT,
                                          const RECT&, const RECT&, const RECT&, DWORD, DWORD)
{
    return false;
}

COLORREF CExtGridWnd::OnGridHookCellColor(bool, const CExtGridCell&, CDC&, LONG, LONG, LONG, LONG, INT, INT, DWORD,
                                          DWORD)
{
    return COLORREF(-1);
}

HFONT CExtGridWnd::OnGridCellQueryFont(const CExtGridCell&, LONG, LONG, INT, INT, bool* pbDelete)
{
    if (pbDelete != NULL)
        *pbDelete = false;
    return NULL;
}

bool CExtGridWnd::OnGridCellQueryTipText(const CExtGridCell&, const HIT_TEST_INFO&, CString&) { return false; }

bool CExtGridWnd::OnGridCellButtonPressing(CExtGridCell*, INT, bool, ULONG, const RECT&, const RECT&, const RECT&,
                                           LONG, LONG, INT, INT)
{
    return false;
}

bool CExtGridWnd::OnGridCellButtonPressed(CExtGridCell*, INT, const RECT&, const RECT&, LONG, LONG, LONG, LONG, INT,
                                          INT)
{
    return false;
}

HWND CExtGridWnd::OnGridCellInplaceControlCreate(CExtGridCell*, LONG, LONG, LONG, LONG, INT, INT, const RECT&,
                                                 const RECT&, const RECT&, LONG, LONG)
{
    return NULL;
}

bool CExtGridWnd::OnGridCellInplaceControlMessage(CExtGridCell*, HWND, UINT, WPARAM, LPARAM, LRESULT&, LONG, LONG,
                                                  INT, INT)
{
    return false;
}

bool CExtGridWnd::OnGridCellInplaceControlTextInputVerify(CExtGridCell*, HWND, LONG, LONG, INT, INT, LPCTSTR,
                                                          LPCTSTR, CString&, bool)
{
    return false;
}

bool CExtGridWnd::OnGridCellInplaceControlDateTimeInputVerify(CExtGridCell*, HWND, LONG, LONG, INT, INT,
                                                              const COleDateTime&, bool)
{
    return false;
}

bool CExtGridWnd::OnGridCellInplaceControlPositionInputVerify(CExtGridCell*, HWND, LONG, LONG, INT, INT, int, bool)
{
    return false;
}

bool CExtGridWnd::OnGridCellInplaceControlAddressInputVerify(CExtGridCell*, HWND, LONG, LONG, INT, INT, DWORD, bool)
{
    return false;
}

void CExtGridWnd::OnInplaceControlApplied(CExtGridCell* pCell, HWND, LONG nColNo, LONG nRowNo, INT nColType,
                                          INT nRowType, LPCTSTR, bool bApply)
{
    if (bApply)
        OnCellValueChanged(pCell, nRowNo, nColNo, nRowType, nColType);
}

void CExtGridWnd::OnInplaceControlApplied(CExtGridCell* pCell, HWND, LONG nColNo, LONG nRowNo, INT nColType,
                                          INT nRowType, const COleDateTime&, bool bApply)
{
    if (bApply)
        OnCellValueChanged(pCell, nRowNo, nColNo, nRowType, nColType);
}

void CExtGridWnd::OnInplaceControlApplied(CExtGridCell* pCell, HWND, LONG nColNo, LONG nRowNo, INT nColType,
                                          INT nRowType, int, bool bApply)
{
    if (bApply)
        OnCellValueChanged(pCell, nRowNo, nColNo, nRowType, nColType);
}

void CExtGridWnd::OnInplaceControlApplied(CExtGridCell* pCell, HWND, LONG nColNo, LONG nRowNo, INT nColType,
                                          INT nRowType, DWORD, bool bApply)
{
    if (bApply)
        OnCellValueChanged(pCell, nRowNo, nColNo, nRowType, nColType);
}

// Notifications for a derived grid; the base grid has nothing to follow up.
void CExtGridWnd::OnCellValueChanged(CExtGridCell*, LONG, LONG, INT, INT, DWORD) {}
void CExtGridWnd::OnCheckStateChanged(CExtGridCell*, LONG, LONG, INT, INT) {}
