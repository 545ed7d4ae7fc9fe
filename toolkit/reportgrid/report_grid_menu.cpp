// The commands of the report grid's header context menu on the column whose header was
// clicked: sort, group, the group area and chooser toggles, best fit, removal and text
// alignment, with the update handlers that enable and mark them while the menu shows.
#include "toolkit/reportgrid/report_grid_wnd.h"

namespace {

enum : UINT
{
    ID_SORT_ASC = ID_REPORT_GRID_SORT_ASC,
    ID_SORT_DESC = ID_REPORT_GRID_SORT_DESC,
    ID_GROUP_BY = ID_REPORT_GRID_GROUP_BY,
    ID_GROUP_AREA = ID_REPORT_GRID_GROUP_AREA,
    ID_BEST_FIT = ID_REPORT_GRID_BEST_FIT,
    ID_REMOVE = ID_REPORT_GRID_REMOVE_COLUMN,
    ID_CHOOSER = ID_REPORT_GRID_FIELD_CHOOSER,
    ID_ALIGN_LEFT = ID_REPORT_GRID_ALIGN_LEFT,
    ID_ALIGN_CENTER = ID_REPORT_GRID_ALIGN_CENTER,
    ID_ALIGN_RIGHT = ID_REPORT_GRID_ALIGN_RIGHT,
    ID_ALIGN_DEFAULT = ID_REPORT_GRID_ALIGN_DEFAULT,
};

DWORD AlignmentOf(UINT nID)
{
    switch (nID)
    {
    case ID_ALIGN_LEFT:
        return 1;
    case ID_ALIGN_CENTER:
        return 3;
    case ID_ALIGN_RIGHT:
        return 2;
    default:
        return 0;
    }
}

}  // namespace

// ---- commands ---------------------------------------------------------------------------------

BOOL CExtReportGridWnd::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    if (nID >= ID_SORT_ASC && nID <= ID_ALIGN_DEFAULT && nID != ID_REPORT_GRID_COLUMNS && pHandlerInfo == NULL)
    {
        if (nCode == CN_COMMAND)
        {
            HeaderMenuCommand(nID);
            return TRUE;
        }
        if (nCode == (int)CN_UPDATE_COMMAND_UI && pExtra != NULL)
        {
            OnUpdateHeaderMenu(static_cast<CCmdUI*>(pExtra));
            return TRUE;
        }
    }
    return CExtTreeGridWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

void CExtReportGridWnd::HeaderMenuCommand(UINT nID)
{
    switch (nID)
    {
    case ID_SORT_ASC:
    case ID_SORT_DESC:
        OnHeaderMenuSort(nID == ID_SORT_ASC);
        break;
    case ID_GROUP_BY:
        OnHeaderMenuGroupBy();
        break;
    case ID_GROUP_AREA:
        ShowGroupArea(!IsGroupAreaVisible());
        break;
    case ID_BEST_FIT:
        OnHeaderMenuBestFit();
        break;
    case ID_REMOVE:
        OnHeaderMenuRemoveColumn();
        break;
    case ID_CHOOSER:
        ShowColumnChooser(!IsColumnChooserVisible());
        break;
    case ID_ALIGN_LEFT:
    case ID_ALIGN_CENTER:
    case ID_ALIGN_RIGHT:
    case ID_ALIGN_DEFAULT:
        OnHeaderMenuAlign(AlignmentOf(nID));
        break;
    default:
        break;
    }
}

void CExtReportGridWnd::OnHeaderMenuSort(bool bAscending)
{
    CExtReportGridColumn* pColumn = m_pContextColumn;
    if (pColumn == NULL || !pColumn->SortingEnabledGet())
        return;
    CExtReportGridSortOrder& order = GetReportDataProvider().ReportSortOrderGet();
    const int nIndex = order.IndexOf(pColumn);
    if (nIndex < 0)
    {
        CExtReportGridSortOrder copy(order);
        if (copy.ItemInsert(pColumn, -1, bAscending))
            SortOrderSet(copy, false, true);
        return;
    }
    bool bCurrent = true;
    order.ItemGet(nIndex, &bCurrent);
    if (bCurrent == bAscending)
        return;
    order.ItemSet(pColumn, nIndex, bAscending);
    RebuildItems(true);
}

void CExtReportGridWnd::OnHeaderMenuGroupBy()
{
    CExtReportGridColumn* pColumn = m_pContextColumn;
    if (pColumn == NULL || !pColumn->GroupingEnabledGet())
        return;
    CExtReportGridSortOrder& order = GetReportDataProvider().ReportSortOrderGet();
    const int nGroups = order.GetGroupCount();
    const int nIndex = order.IndexOf(pColumn);
    if (nIndex >= 0 && nIndex < nGroups)
    {
        order.SetGroupCount(nGroups - 1);
        order.ItemRemove(nIndex, 1);
        ColumnActivate(pColumn, true, -1, false);
    }
    else
    {
        if (nGroups >= GetMaxGroupByColumns())
        {
            OnGroupByLimitReached();
            return;
        }
        bool bAscending = true;
        if (nIndex >= 0)
        {
            bAscending = pColumn->SortAscendingGet();
            order.ItemRemove(nIndex, 1);
        }
        ColumnActivate(pColumn, false, -1, false);
        order.ItemInsert(pColumn, nGroups, bAscending);
        order.SetGroupCount(nGroups + 1);
    }
    RebuildItems(true);
    RefreshColumnChooser();
}

void CExtReportGridWnd::OnHeaderMenuBestFit()
{
    CExtReportGridColumn* pColumn = m_pContextColumn;
    INT nMin = 0, nMax = 0;
    if (pColumn == NULL || !pColumn->IsActive() || !pColumn->GetExtent(nMin, -1) || !pColumn->GetExtent(nMax, 1) ||
        nMin == nMax)
        return;
    const int nIndex = GetReportDataProvider().ActiveColumnIndexOf(pColumn);
    if (nIndex >= 0)
        BestFitColumn(nIndex, 0, true, true, false, true);
}

void CExtReportGridWnd::OnHeaderMenuRemoveColumn()
{
    CExtReportGridColumn* pColumn = m_pContextColumn;
    if (pColumn == NULL)
        return;
    CExtReportGridSortOrder& order = GetReportDataProvider().ReportSortOrderGet();
    const int nIndex = order.IndexOf(pColumn);
    if (nIndex >= 0)
    {
        const int nGroups = order.GetGroupCount();
        if (nIndex < nGroups)
        {
            order.SetGroupCount(nGroups - 1);
            order.ItemRemove(nIndex, 1);
            ColumnActivate(pColumn, true, -1, false);
        }
        else
            order.ItemRemove(nIndex, 1);
        RebuildItems(true);
    }
    ColumnActivate(pColumn, false, -1, true);
    RefreshColumnChooser();
}

// The header takes the alignment with its cells, so the menu marks the one chosen last.
void CExtReportGridWnd::OnHeaderMenuAlign(DWORD dwAlignment)
{
    if (m_pContextColumn == NULL)
        return;
    m_pContextColumn->ModifyStyle(dwAlignment & 0x3, 0x3);
    ColumnCellStyle3Set(m_pContextColumn, dwAlignment, true);
}

// ---- update handlers ------------------------------------------------------------------------

void CExtReportGridWnd::OnUpdateHeaderMenu(CCmdUI* pCmdUI)
{
    CExtReportGridColumn* pColumn = m_pContextColumn;
    const CExtReportGridSortOrder& order = SortOrderGet();
    const int nIndex = pColumn != NULL ? order.IndexOf(pColumn) : -1;
    const UINT nID = pCmdUI->m_nID;
    switch (nID)
    {
    case ID_SORT_ASC:
    case ID_SORT_DESC:
    {
        const bool bEnabled = pColumn != NULL && pColumn->SortingEnabledGet();
        bool bAscending = true;
        if (nIndex >= 0)
            order.ItemGet(nIndex, &bAscending);
        pCmdUI->Enable(bEnabled);
        pCmdUI->SetRadio(bEnabled && nIndex >= 0 && bAscending == (nID == ID_SORT_ASC));
        break;
    }
    case ID_GROUP_BY:
    {
        const bool bGrouped = nIndex >= 0 && nIndex < order.GetGroupCount();
        // Ungrouping stays possible at the limit.
        const bool bEnabled = pColumn != NULL && pColumn->GroupingEnabledGet() &&
                              (bGrouped || order.GetGroupCount() < GetMaxGroupByColumns());
        pCmdUI->Enable(bEnabled);
        pCmdUI->SetCheck(bEnabled && bGrouped ? 1 : 0);
        break;
    }
    case ID_GROUP_AREA:
        pCmdUI->Enable(TRUE);
        pCmdUI->SetCheck(IsGroupAreaVisible() ? 1 : 0);
        break;
    case ID_CHOOSER:
        pCmdUI->Enable(TRUE);
        pCmdUI->SetCheck(IsColumnChooserVisible() ? 1 : 0);
        break;
    case ID_BEST_FIT:
    {
        INT nMin = 0, nMax = 0;
        pCmdUI->Enable(pColumn != NULL && pColumn->IsActive() && pColumn->GetExtent(nMin, -1) &&
                       pColumn->GetExtent(nMax, 1) && nMin != nMax);
        break;
    }
    case ID_REMOVE:
        pCmdUI->Enable(pColumn != NULL && (pColumn->IsActive() || nIndex >= 0));
        break;
    case ID_ALIGN_LEFT:
    case ID_ALIGN_CENTER:
    case ID_ALIGN_RIGHT:
    case ID_ALIGN_DEFAULT:
    {
        const bool bEnabled = pColumn != NULL && pColumn->AlignmentMenuGet();
        pCmdUI->Enable(bEnabled);
        pCmdUI->SetRadio(bEnabled && (pColumn->GetStyle() & 0x3) == AlignmentOf(nID));
        break;
    }
    default:
        break;
    }
}
