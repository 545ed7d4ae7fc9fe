// The report grid's header under the mouse: the "Sort by" tip, dragging a header onto the
// group area to group by its column, the empty header band as a drop target, where a
// dragged column would join the header, and what the column chooser lists.
#include "toolkit/reportgrid/report_grid_wnd.h"
#include <algorithm>
#include "toolkit/grid/content_expand_wnd.h"
#include "toolkit/reportgrid/column_chooser.h"
#include "toolkit/reportgrid/group_area_wnd.h"

bool CExtReportGridWnd::OnGridCellQueryTipText(const CExtGridCell& cell, const HIT_TEST_INFO& hti,
                                               CString& strTipText)
{
    if (!hti.IsEmpty() && !::IsRectEmpty(&hti.m_rcItem) && hti.GetColumnType() == 0 && hti.GetRowType() == -1 &&
        hti.m_nRowNo == 0)
    {
        const CExtReportGridColumn* pColumn = DYNAMIC_DOWNCAST(CExtReportGridColumn, const_cast<CExtGridCell*>(&cell));
        if (pColumn != NULL && pColumn->SortingEnabledGet())
        {
            GetSortTooltipText(strTipText, pColumn);
            return !strTipText.IsEmpty();
        }
    }
    return CExtTreeGridWnd::OnGridCellQueryTipText(cell, hti, strTipText);
}

void CExtReportGridWnd::TrackOuterCellDrag(CExtGridCell* pCell, const HIT_TEST_INFO& hti, int nButton, UINT nFlags)
{
    CExtReportGridColumn* pColumn = DYNAMIC_DOWNCAST(CExtReportGridColumn, pCell);
    if (pColumn != NULL && ColumnIsOwn(pColumn) && !pColumn->DragEnabledGet())
        return;
    CExtTreeGridWnd::TrackOuterCellDrag(pCell, hti, nButton, nFlags);
}

int CExtReportGridWnd::OnOuterCellDropOutside(bool bDrop, int nPrevIndex, const RECT& rcImage, CExtGridCell* pCell,
                                              const HIT_TEST_INFO& hti, CExtContentExpandWnd& wndMarker,
                                              CExtContentExpandWnd& wndDragImage)
{
    (void)rcImage;
    CExtReportGridColumn* pColumn = DYNAMIC_DOWNCAST(CExtReportGridColumn, pCell);
    CExtReportGridGroupAreaWnd* pArea = DYNAMIC_DOWNCAST(CExtReportGridGroupAreaWnd, (CWnd*)m_pWndGroupArea);
    if (hti.IsEmpty() || hti.GetColumnType() != 0 || hti.GetRowType() != -1 || pColumn == NULL ||
        pArea == NULL || pArea->GetSafeHwnd() == NULL || !IsGroupAreaVisible())
    {
        wndMarker.Deactivate();
        return -1;
    }
    if (bDrop)
    {
        wndMarker.Deactivate();
        if (nPrevIndex < 0)
            return -1;
        CExtReportGridSortOrder order(SortOrderGet());
        int nPos = nPrevIndex, nGroups = order.GetGroupCount();
        const int nIndex = order.IndexOf(pColumn);
        if (nIndex >= 0)
        {
            if (nIndex < nGroups)
            {
                order.SetGroupCount(--nGroups);
                if (nIndex < nPos)
                    nPos--;
            }
            order.ItemRemove(nIndex, 1);
        }
        nPos = std::max(0, std::min(nPos, nGroups));
        if (!order.ItemInsert(pColumn, nPos, pColumn->SortAscendingGet()) || !order.SetGroupCount(nGroups + 1))
            return -1;
        if (SortOrderSet(order, true, false))
        {
            ColumnActivate(pColumn, false, 0, true);
            RefreshColumnChooser();
        }
        return -1;
    }
    CPoint point;
    ::GetCursorPos(&point);
    pArea->ScreenToClient(&point);
    const int nPos = pArea->HitTestDropPosition(point);
    if (nPos < 0)
    {
        wndMarker.Deactivate();
        return -1;
    }
    if (nPos == nPrevIndex && wndMarker.GetSafeHwnd() != NULL)
        return nPos;
    RECT rcMarker;
    if (!pArea->GetDropMarkerRect(nPos, rcMarker))
    {
        wndMarker.Deactivate();
        return -1;
    }
    const CRect rcLine(rcMarker.left, rcMarker.top, rcMarker.left, rcMarker.bottom);
    wndMarker.Activate(rcLine, pArea, 0x3EFF11F);
    if (wndMarker.GetSafeHwnd() != NULL && wndDragImage.GetSafeHwnd() != NULL)
        ::SetWindowPos(wndMarker.GetSafeHwnd(), wndDragImage.GetSafeHwnd(), 0, 0, 0, 0,
                       SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
    return nPos;
}

void CExtReportGridWnd::HitTestInSameBand(const HIT_TEST_INFO& htiRef, HIT_TEST_INFO& htiOut, CPoint point)
{
    htiOut = HIT_TEST_INFO(-1, -1);
    if (htiRef.IsEmpty())
        return;
    if (GetColumnCount() == 0)
    {
        CRect rcClient, rcData;
        GetClientRect(&rcClient);
        GetClientRectEx(&rcData);
        const CRect rcBand(rcClient.left, rcData.top - RowExtentGet(true, 0), rcClient.right, rcData.top);
        if (rcBand.PtInRect(point))
        {
            htiOut.m_nColNo = 0;
            htiOut.m_nRowNo = 0;
            htiOut.m_dwAreaFlags = HIT_TEST_INFO::AREA_OUTER | HIT_TEST_INFO::AREA_OUTER_TOP;
            htiOut.m_ptClient = point;
            const RECT rc = {rcBand.left, rcBand.top, rcBand.left + 10, rcBand.bottom};
            htiOut.m_rcItem = htiOut.m_rcExtra = rc;
            return;
        }
    }
    CExtTreeGridWnd::HitTestInSameBand(htiRef, htiOut, point);
}

int CExtReportGridWnd::HeaderDropPositionGet(CPoint ptClient, RECT* pRectMarker)
{
    if (GetSafeHwnd() == NULL)
        return -1;
    CRect rcClient, rcData;
    GetClientRect(&rcClient);
    GetClientRectEx(&rcData);
    const CRect rcBand(rcClient.left, rcData.top - RowExtentGet(true, 0), rcClient.right, rcData.top);
    if (rcBand.IsRectEmpty() || !rcBand.PtInRect(ptClient))
        return -1;
    const int nCount = GetColumnCount();
    int nPos = 0;
    LONG x = rcBand.left;
    if (nCount > 0)
    {
        HIT_TEST_INFO hti(ptClient);
        HitTest(hti);
        if (!hti.IsEmpty() && hti.GetColumnType() == 0 && hti.GetRowType() == -1 && hti.m_nColNo >= 0)
        {
            const bool bAfter = ptClient.x > (hti.m_rcExtra.left + hti.m_rcExtra.right) / 2;
            nPos = hti.m_nColNo + (bAfter ? 1 : 0);
            x = bAfter ? hti.m_rcExtra.right : hti.m_rcExtra.left;
        }
        else
        {
            // Past the last header: the column goes to the end.
            RECT rcLast;
            nPos = nCount;
            if (GetCellRects(nCount - 1, 0, 0, -1, &rcLast, NULL) && ptClient.x >= rcLast.left)
                x = rcLast.right;
            else
            {
                nPos = 0;
                x = rcData.left;
            }
        }
    }
    if (pRectMarker != NULL)
        ::SetRect(pRectMarker, x, rcBand.top, x, rcBand.bottom);
    return nPos;
}

// The chooser offers what the user can bring back: hidden columns that are not grouped
// (grouped ones show as buttons in the group area), ordered by name so that a field is
// easy to find.
void CExtReportGridWnd::FillColumnChooser(LPCTSTR sCategory)
{
    CExtReportGridColumnChooserWnd* pChooser =
        DYNAMIC_DOWNCAST(CExtReportGridColumnChooserWnd, (CWnd*)m_pWndColumnChooser);
    if (pChooser == NULL || pChooser->GetSafeHwnd() == NULL)
        return;
    const CExtReportGridSortOrder& order = SortOrderGet();
    CArray<CExtReportGridColumn*, CExtReportGridColumn*> arrColumns;
    POSITION pos = ColumnGetStartPosition(sCategory, false, true);
    while (pos != NULL)
    {
        CExtReportGridColumn* pColumn = ColumnGetNext(pos, sCategory, false, true);
        if (pColumn == NULL)
            continue;
        const int nIndex = order.IndexOf(pColumn);
        if (nIndex >= 0 && nIndex < order.GetGroupCount())
            continue;
        arrColumns.Add(pColumn);
    }
    CExtReportGridColumn** pBegin = arrColumns.GetData();
    std::stable_sort(pBegin, pBegin + arrColumns.GetSize(), [](CExtReportGridColumn* a, CExtReportGridColumn* b) {
        const int n = _tcscmp(a->ColumnNameGet(), b->ColumnNameGet());
        return n != 0 ? n < 0 : _tcscmp(a->CategoryNameGet(), b->CategoryNameGet()) < 0;
    });
    pChooser->CategorySet(sCategory);
    pChooser->FieldsSet(arrColumns);
}

void CExtReportGridWnd::RefreshColumnChooser()
{
    CExtReportGridCategoryComboBox* pCombo =
        DYNAMIC_DOWNCAST(CExtReportGridCategoryComboBox, (CWnd*)m_pWndCategoryComboBox);
    if (pCombo != NULL && pCombo->GetSafeHwnd() != NULL)
        pCombo->OnCategorySelected();
    else
        FillColumnChooser(NULL);
}
