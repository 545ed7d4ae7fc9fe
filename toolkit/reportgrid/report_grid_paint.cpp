// The report grid's painting on top of the tree grid: group rows as captions (with their
// outline button) spanning the row, the selection, the tree indent, the row focus frame,
// the preview under items, the header band's background and the text of an empty view.
#include "toolkit/reportgrid/report_grid_wnd.h"
#include <algorithm>
#include "toolkit/theme/paint_manager.h"

namespace {

// Scheme colours: the line under a band caption, the caption text and the items' indent.
const COLORREF g_arrSchemeLine[3] = {0xE0A47B, 0x8FC4B5, 0xBDA4A5};
const COLORREF g_arrSchemeCaption[3] = {0xB96837, 0x548973, 0x916F70};
const COLORREF g_clrSchemeIndent = 0xC9EEFD;

INT IndentOf(const CExtTreeGridCellNode* pNode, INT nDefault)
{
    const INT n = pNode->TreeNodeIndentPxGet();
    return n < 0 ? nDefault : n;
}

// Raised for one call path; dropped on every way out.
struct LockGuard
{
    int& m_nLock;
    explicit LockGuard(int& nLock) : m_nLock(nLock) { m_nLock++; }
    ~LockGuard() { m_nLock--; }
};

}  // namespace

int CExtReportGridWnd::GetLunaScheme()
{
    CExtPaintManager* pPM = GetPaintManager();
    if (pPM == NULL || !pPM->UsesLunaColors())
        return 0;
    const int nScheme = pPM->GetLunaColorScheme();
    return (nScheme >= 1 && nScheme <= 3) ? nScheme : 0;
}

// ---- the whole view ---------------------------------------------------------------------------

void CExtReportGridWnd::OnPaintItems(CDC& dc, bool bFocused)
{
    CExtTreeGridWnd::OnPaintItems(dc, bFocused);
    if (GetRowCount() > 0)
    {
        PaintRowDecorations(dc, bFocused);
        return;
    }
    // The text stands in the data area: above it the header band and the group area
    // would cover it.
    const CString strText = GetEmptyViewText();
    CRect rc;
    GetClientRectEx(&rc);
    rc.DeflateRect(5, 5);
    if (strText.IsEmpty() || rc.IsRectEmpty())
        return;
    const int nOldMode = dc.SetBkMode(TRANSPARENT);
    const COLORREF clrOld = dc.SetTextColor(GetColor(COLOR_BTNTEXT));
    CFont* pOldFont = dc.SelectObject(GetPaintFont());
    dc.DrawText(strText, &rc, DT_CENTER | DT_WORDBREAK);
    dc.SelectObject(pOldFont);
    dc.SetTextColor(clrOld);
    dc.SetBkMode(nOldMode);
}

// The frame around the whole focus row and the preview under each shown item, drawn once
// per row after the cells.
void CExtReportGridWnd::PaintRowDecorations(CDC& dc, bool bFocused)
{
    const bool bPreview = IsPreviewStyle();
    const POINT ptFocus = FocusGet();
    if (!bPreview && ptFocus.y < 0)
        return;
    int nFirst = 0, nLast = -1, nOffset = 0;
    GetVisibleRowRange(nFirst, nLast, nOffset);
    CRect rcArea;
    GetClientRectEx(&rcArea);
    LONG y = nOffset;
    for (int nRow = nFirst; nRow <= nLast; nRow++)
    {
        int nBefore = 0, nAfter = 0;
        const int h = QueryRowExtent(nRow, &nBefore, &nAfter);
        const CRect rcRow(rcArea.left, y, rcArea.right, y + h);
        y += h;
        CExtReportGridItem* pItem = ItemAtRow(nRow);
        if (pItem == NULL)
            continue;
        CExtGridCell* pExtra = bPreview && !pItem->IsGroupRow() ? pItem->PreviewCellGet(NULL) : NULL;
        const bool bFocusRow = bFocused && nRow == ptFocus.y;
        if (pExtra == NULL && !bFocusRow)
            continue;
        CRect rcFull = RowDecorationRect(pItem, rcRow);
        if (pExtra != NULL && nAfter > 4)
        {
            // The whole space below the cells: the 4 pixels the row adds to the measured
            // text are what the cell's own margins take when it paints.
            CRect rcPreview(rcFull.left, rcFull.bottom - nAfter, rcFull.right, rcFull.bottom);
            PaintPreview(dc, rcPreview, pItem, pExtra);
        }
        if (bFocusRow)
            OnDrawFocusRect(dc, rcFull);
    }
}

// The row's rectangle from the end of its ancestors' indents to the end of the last column.
CRect CExtReportGridWnd::RowDecorationRect(CExtReportGridItem* pItem, const CRect& rcRow)
{
    CRect rc = rcRow;
    CExtTreeGridDataProvider* pTP = GetTreeProvider();
    const INT nDefault = pTP != NULL ? pTP->IndentDefaultGet() : 0;
    for (CExtTreeGridCellNode* p = pItem->TreeNodeGetParent(); p != NULL && p->TreeNodeGetParent() != NULL;
         p = p->TreeNodeGetParent())
        rc.left += IndentOf(p, nDefault);
    rc.left -= BandLeafStep(pItem);
    LONG nWidth = 0;
    for (int i = 0; i < GetColumnCount(); i++)
        nWidth += QueryColumnExtent(i);
    POINT pos;
    GetScrollPosition(pos);
    const bool bPixels = GetScrollTypeH() == __ESIS_ST_PIXEL;
    rc.right = std::min<LONG>(rcRow.right, rcRow.left + nWidth - (bPixels ? pos.x : 0));
    rc.left = std::max(rc.left, rcRow.left);
    if (rc.right < rc.left)
        rc.right = rc.left;
    return rc;
}

void CExtReportGridWnd::OnDrawFocusRect(CDC& dc, const RECT& rc)
{
    if (m_nLockPainting != 0)
        return;
    const COLORREF clrText = dc.SetTextColor(GetColor(COLOR_HIGHLIGHTTEXT));
    const COLORREF clrBack = dc.SetBkColor(RGB(0, 0, 0));
    dc.DrawFocusRect(&rc);
    dc.SetBkColor(clrBack);
    dc.SetTextColor(clrText);
}

void CExtReportGridWnd::OnPaintOuterAreaBackground(CDC& dc, const RECT& rc, DWORD dwAreaFlags)
{
    CExtTreeGridWnd::OnPaintOuterAreaBackground(dc, rc, dwAreaFlags);
    if (dwAreaFlags == 0x101)
        PaintHeaderBand(dc, rc, this, dwAreaFlags);
}

bool CExtReportGridWnd::OnGridHookCellPaintBackground(const CExtGridCell& cell, CDC& dc, LONG nVisibleColNo,
                                                      LONG nVisibleRowNo, LONG nColNo, LONG nRowNo, INT nColType,
                                                      INT nRowType, const RECT& rcCellExtra, const RECT& rcCell,
                                                      const RECT& rcVisibleRange, DWORD dwAreaFlags,
                                                      DWORD dwHelperPaintFlags)
{
    if ((dwHelperPaintFlags & PAINT_PRESSED_H) != 0)
        return false;
    if ((dwAreaFlags & HIT_TEST_INFO::AREA_INNER) != 0)
        return true;
    if ((GetReportStyle() & __ERGS_BAND_STYLE) != 0 && nColType == 0 && nRowType == -1)
        return true;
    return CExtTreeGridWnd::OnGridHookCellPaintBackground(cell, dc, nVisibleColNo, nVisibleRowNo, nColNo, nRowNo,
                                                          nColType, nRowType, rcCellExtra, rcCell, rcVisibleRange,
                                                          dwAreaFlags, dwHelperPaintFlags);
}

bool CExtReportGridWnd::OnQueryGridLines(bool bHorizontal, int nColumn, int nRow, DWORD dwAreaFlags)
{
    if (bHorizontal && m_nLockGridLines != 0)
        return false;
    if ((GetReportStyle() & __ERGS_BAND_STYLE) != 0 && (dwAreaFlags & HIT_TEST_INFO::AREA_INNER) != 0)
    {
        CExtReportGridItem* pItem = ItemAtRow(nRow);
        if (pItem != NULL && pItem->IsGroupRow())
            return false;
    }
    return CExtTreeGridWnd::OnQueryGridLines(bHorizontal, nColumn, nRow, dwAreaFlags);
}

void CExtReportGridWnd::OnQueryCellIndent(int nColumn, int nRow, int nColType, int nRowType, RECT& rcExtent,
                                          RECT& rcCell)
{
    CExtTreeGridWnd::OnQueryCellIndent(nColumn, nRow, nColType, nRowType, rcExtent, rcCell);
    if (nColType != 0 || nRowType != 0)
        return;
    CExtReportGridItem* pItem = ItemAtRow(nRow);
    if (pItem == NULL)
        return;
    if (pItem->IsGroupRow())
    {
        int nFirst = 0, nLast = -1, nOffset = 0;
        GetVisibleColumnRange(nFirst, nLast, nOffset);
        if (nColumn != nFirst)
        {
            rcExtent.right = rcExtent.left;
            rcCell.right = rcCell.left;
            return;
        }
        CRect rcArea;
        GetClientRectEx(&rcArea);
        rcExtent.right = std::max(rcExtent.left, rcArea.right);
        rcCell.right = std::max(rcCell.left, rcArea.right);
        return;
    }
    if (IsTreeColumn(nColumn))
    {
        rcCell.left = std::max(rcExtent.left, rcCell.left - BandLeafStep(pItem));
    }
}

// In band style a leaf under a group row sits one level further left: its group's
// caption band already marks the level.
INT CExtReportGridWnd::BandLeafStep(CExtReportGridItem* pItem)
{
    if ((GetReportStyle() & __ERGS_BAND_STYLE) == 0 || pItem == NULL || pItem->IsGroupRow())
        return 0;
    CExtTreeGridCellNode* pParent = pItem->TreeNodeGetParent();
    if (pParent == NULL || pParent->TreeNodeGetParent() == NULL)
        return 0;
    CExtTreeGridDataProvider* pTP = GetTreeProvider();
    const INT nOwn = pItem->TreeNodeIndentPxGet();
    return nOwn < 1 ? (pTP != NULL ? pTP->IndentDefaultGet() : 0) : nOwn;
}

CExtReportGridItem* CExtReportGridWnd::ItemAtRow(LONG nRow)
{
    CExtTreeGridDataProvider* pTP = GetTreeProvider();
    if (pTP == NULL || nRow < 0)
        return NULL;
    return DYNAMIC_DOWNCAST(CExtReportGridItem, pTP->TreeNodeGetByRow((ULONG)nRow));
}

// ---- cells ----------------------------------------------------------------------------------------

void CExtReportGridWnd::OnPaintCell(CDC& dc, int nVisibleColumn, int nVisibleRow, int nColumn, int nRow,
                                    const RECT& rcExtent, const RECT& rcCell, LPARAM lReserved, DWORD dwAreaFlags,
                                    DWORD dwPaintFlags)
{
    const bool bInner = (dwAreaFlags & HIT_TEST_INFO::AREA_INNER) != 0;
    if (!bInner)
    {
        CExtTreeGridWnd::OnPaintCell(dc, nVisibleColumn, nVisibleRow, nColumn, nRow, rcExtent, rcCell, lReserved,
                                     dwAreaFlags, dwPaintFlags);
        return;
    }
    const bool bBand = (GetReportStyle() & __ERGS_BAND_STYLE) != 0;
    CExtReportGridItem* pItem = ItemAtRow(nRow);
    const bool bGroup = pItem != NULL && pItem->IsGroupRow();
    CRect rcArea;
    GetClientRectEx(&rcArea);
    if (bGroup)
    {
        int nFirst = 0, nLast = -1, nOffset = 0;
        GetVisibleColumnRange(nFirst, nLast, nOffset);
        if (nColumn != nFirst)
            return;
        if (bBand)
        {
            const int nScheme = GetLunaScheme();
            const COLORREF clrLine = nScheme > 0 ? g_arrSchemeLine[nScheme - 1] : GetColor(COLOR_BTNSHADOW);
            dc.FillSolidRect(rcCell.left, rcCell.bottom - 2, rcArea.right - rcCell.left, 2, clrLine);
        }
    }
    const bool bSelected = OnQuerySelected(nColumn, nRow);
    const bool bFocusedWnd = (dwPaintFlags & PAINT_FOCUSED_WINDOW) != 0;
    CRect rcFill = rcCell;
    if (bGroup)
        rcFill.right = std::max(rcFill.left, rcArea.right);
    else
    {
        // A selected item's highlight takes in its preview below the cells, whose text
        // takes the highlight's text colour.
        rcFill.top = rcExtent.top;
        rcFill.bottom = rcExtent.bottom;
    }
    if (!bGroup && !rcFill.IsRectEmpty() && bSelected)
    {
        dc.FillSolidRect(&rcFill, GetColor(bFocusedWnd ? COLOR_HIGHLIGHT : COLOR_BTNFACE));
        const POINT ptFocus = FocusGet();
        if ((GetScrollItemStyle() & 0x3000) == 0x1000 && ptFocus.x == nColumn && ptFocus.y == nRow)
            dc.FillSolidRect(&rcFill, GetColor(COLOR_WINDOW));
    }
    {
        LockGuard lockPaint(m_nLockPainting);
        RECT rcText = rcCell;
        if (pItem != NULL && IsTreeColumn(nColumn))
        {
            const INT nIndent = std::max(0, RowIndent(nRow) - BandLeafStep(pItem));
            if (nIndent > 0)
            {
                rcText.left = std::min<LONG>(rcCell.right, rcCell.left + nIndent);
                // An item's indent runs down past its cells beside its preview.
                const RECT rcIndent = {rcCell.left, rcFill.top, rcText.left, rcFill.bottom};
                PaintTreeIndent(dc, pItem, rcIndent);
            }
        }
        if (bGroup)
        {
            LockGuard lockLines(m_nLockGridLines);
            // The band starts at the row's own indent slot, after its ancestors' indents.
            CExtTreeGridDataProvider* pTP = GetTreeProvider();
            const INT nOwn = IndentOf(pItem, pTP != NULL ? pTP->IndentDefaultGet() : 0);
            RECT rcBand = rcCell;
            rcBand.left = std::min<LONG>(rcCell.right, rcCell.left + std::max(0, RowIndent(nRow) - nOwn));
            rcBand.right = std::max(rcBand.left, rcArea.right);
            PaintGroupRow(dc, pItem, rcBand, dwPaintFlags, FocusGet().y == nRow, bSelected);
            return;
        }
        CExtGridWnd::OnPaintCell(dc, nVisibleColumn, nVisibleRow, nColumn, nRow, rcExtent, rcText, lReserved,
                                 dwAreaFlags, dwPaintFlags);
        if (OnQueryGridLines(true, nColumn, nRow, dwAreaFlags))
        {
            dc.FillSolidRect(rcExtent.left, rcExtent.bottom - 1, rcExtent.right - rcExtent.left, 1,
                             GetColor(COLOR_BTNFACE));
            if ((!bBand || IsPreviewStyle()) && (GetScrollItemStyle() & GRID_LINES_V) != 0)
                dc.FillSolidRect(rcCell.left, rcCell.bottom - 1, rcCell.right - rcCell.left, 1,
                                 GetColor(COLOR_BTNFACE));
        }
    }
}

void CExtReportGridWnd::PaintTreeIndent(CDC& dc, CExtReportGridItem* pItem, const RECT& rcIndent)
{
    CExtTreeGridDataProvider* pTP = GetTreeProvider();
    if (pItem == NULL || pTP == NULL || ::IsRectEmpty(&rcIndent))
        return;
    const INT nDefault = pTP->IndentDefaultGet();
    if ((GetReportStyle() & __ERGS_BAND_STYLE) != 0)
    {
        RECT rc = rcIndent;
        if (pItem->IsGroupRow())
            rc.right = std::max(rc.left, rc.right - IndentOf(pItem, nDefault));
        dc.FillSolidRect(&rc, GetLunaScheme() > 0 ? g_clrSchemeIndent : GetColor(COLOR_BTNFACE));
        return;
    }
    LONG xRight = rcIndent.right;
    for (CExtTreeGridCellNode* p = pItem; p != NULL && p->TreeNodeGetParent() != NULL; p = p->TreeNodeGetParent())
    {
        const INT w = IndentOf(p, nDefault);
        const LONG xLeft = std::max<LONG>(rcIndent.left, xRight - w);
        if (xLeft < xRight)
        {
            dc.FillSolidRect(xLeft, rcIndent.top, xRight - xLeft, rcIndent.bottom - rcIndent.top,
                             GetColor(COLOR_WINDOW));
            dc.FillSolidRect(xRight - 1, rcIndent.top, 1, rcIndent.bottom - rcIndent.top, GetColor(COLOR_BTNFACE));
        }
        xRight = xLeft;
    }
}

// ---- group rows -------------------------------------------------------------------------------

bool CExtReportGridWnd::GetGroupRowCaption(CExtReportGridItem* pItem, CString& strText, int nLevel)
{
    strText.Empty();
    const CExtReportGridSortOrder& order = SortOrderGet();
    if (pItem == NULL || nLevel < 0 || nLevel >= order.GetCount())
        return false;
    CExtReportGridColumn* pColumn = order.ItemGet(nLevel);
    CExtTreeGridCellNode* pLeaf = pItem;
    while (pLeaf != NULL && pLeaf->TreeNodeGetChildCount() > 0)
        pLeaf = pLeaf->TreeNodeGetChildAt(0);
    CExtReportGridItem* pLeafItem = DYNAMIC_DOWNCAST(CExtReportGridItem, pLeaf);
    CExtGridCell* pCell = pColumn != NULL && pLeafItem != NULL ? ItemCellGet(pColumn, pLeafItem) : NULL;
    if (pCell == NULL)
        return false;
    CString strValue;
    pCell->TextGet(strValue);
    strText.Format(_T("%s : %s"), pColumn->ColumnNameGet(), (LPCTSTR)strValue);
    return true;
}

void CExtReportGridWnd::PaintGroupRow(CDC& dc, CExtReportGridItem* pItem, const RECT& rcBandIn, DWORD dwPaintFlags,
                                      bool bFocusRow, bool bSelected)
{
    CExtTreeGridDataProvider* pTP = GetTreeProvider();
    if (pItem == NULL || pTP == NULL)
        return;
    const bool bBand = (GetReportStyle() & __ERGS_BAND_STYLE) != 0;
    const bool bFocusedWnd = (dwPaintFlags & PAINT_FOCUSED_WINDOW) != 0;
    const INT nIndent = IndentOf(pItem, pTP->IndentDefaultGet());
    CRect rcBand(rcBandIn);
    if (!bBand)
    {
        // The row's own indent (its button) stays on the face colour.
        CRect rcIndentFace(rcBand.left, rcBand.top, std::min<LONG>(rcBand.right, rcBand.left + nIndent),
                           rcBand.bottom);
        dc.FillSolidRect(&rcIndentFace, GetColor(COLOR_BTNFACE));
        CRect rcRest(rcIndentFace.right, rcBand.top, rcBand.right, rcBand.bottom);
        if (bFocusRow || bSelected)
            rcRest.bottom = std::max(rcRest.top, rcRest.bottom - 1);
        if (bSelected)
            dc.FillSolidRect(&rcRest, GetColor(bFocusedWnd ? COLOR_HIGHLIGHT : COLOR_BTNFACE));
        else
            dc.FillSolidRect(&rcRest, GetColor(COLOR_BTNFACE));
        dc.FillSolidRect(rcBand.left, rcBand.top, rcBand.Width(), 1, GetColor(COLOR_WINDOW));
    }
    const CRect rcButton(rcBand.left, rcBand.top, std::min<LONG>(rcBand.right, rcBand.left + nIndent),
                         rcBand.bottom);
    const INT nButtonState = pItem->TreeNodeGetButtonState();
    if (nButtonState != 0)
        PaintOutlineButton(dc, nButtonState == 1, rcButton);
    CString strCaption;
    GetGroupRowCaption(pItem, strCaption, (int)pItem->TreeNodeGetDepth() - 1);
    if (strCaption.IsEmpty())
        return;
    CRect rcText(rcButton.right, rcBand.top, rcBand.right - 3, rcBand.bottom);
    if (rcText.right <= rcText.left)
        return;
    const bool bSelFocused = bSelected && bFocusedWnd;
    COLORREF clrText;
    const int nScheme = GetLunaScheme();
    if (!bBand)
        clrText = GetColor(bSelFocused ? COLOR_HIGHLIGHTTEXT : COLOR_BTNTEXT);
    else if (nScheme > 0)
        clrText = bSelFocused ? GetColor(COLOR_WINDOW) : g_arrSchemeCaption[nScheme - 1];
    else
        clrText = GetColor(bSelFocused ? COLOR_HIGHLIGHTTEXT : COLOR_BTNSHADOW);
    CExtPaintManager* pPM = GetPaintManager();
    CFont* pFont = NULL;
    if (pPM != NULL)
        pFont = (GetReportStyle() & __ERGS_GROUP_CAPTION_SECOND_FONT) != 0 ? &pPM->m_FontBold : &pPM->m_FontNormal;
    CFont* pOldFont = pFont != NULL && pFont->GetSafeHandle() != NULL ? dc.SelectObject(pFont) : NULL;
    const COLORREF clrOld = dc.SetTextColor(clrText);
    const int nOldMode = dc.SetBkMode(TRANSPARENT);
    dc.DrawText(strCaption, &rcText, DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS);
    dc.SetBkMode(nOldMode);
    dc.SetTextColor(clrOld);
    if (pOldFont != NULL)
        dc.SelectObject(pOldFont);
}

void CExtReportGridWnd::PaintOutlineButton(CDC& dc, bool bExpanded, const RECT& rc)
{
    if ((GetReportStyle() & __ERGS_BAND_STYLE) == 0)
    {
        m_iconTreeBoxExpanded.Empty();
        m_iconTreeBoxCollapsed.Empty();
    }
    if (!m_iconTreeBoxExpanded.IsEmpty() && !m_iconTreeBoxCollapsed.IsEmpty())
    {
        CExtCmdIcon& icon = bExpanded ? m_iconTreeBoxExpanded : m_iconTreeBoxCollapsed;
        const CSize size = icon.GetSize();
        icon.Paint(GetPaintManager(), dc.GetSafeHdc(), (rc.left + rc.right - size.cx) / 2,
                   (rc.top + rc.bottom - size.cy) / 2, -1, -1);
        return;
    }
    const int x = (rc.left + rc.right - 12) / 2, y = (rc.top + rc.bottom - 12) / 2;
    CRect rcBox(x, y, x + 12, y + 12);
    dc.FillSolidRect(&rcBox, GetColor(COLOR_BTNFACE));
    dc.Draw3dRect(&rcBox, GetColor(COLOR_3DHIGHLIGHT), GetColor(COLOR_BTNSHADOW));
    rcBox.DeflateRect(1, 1);
    dc.Draw3dRect(&rcBox, GetColor(COLOR_BTNFACE), GetColor(COLOR_3DDKSHADOW));
    rcBox.DeflateRect(2, 2);
    const COLORREF clr = GetColor(COLOR_BTNTEXT);
    const int yMid = (rcBox.top + rcBox.bottom) / 2, xMid = (rcBox.left + rcBox.right) / 2;
    dc.FillSolidRect(rcBox.left, yMid, rcBox.Width(), 1, clr);
    if (!bExpanded)
        dc.FillSolidRect(xMid, rcBox.top, 1, rcBox.Height(), clr);
}
