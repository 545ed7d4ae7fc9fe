// The report grid's layout archive: which columns show and in which order, their
// extents and alignments, the grouping and sorting, the group area and the preview.
// Loading reads the whole archive before it changes anything; a damaged archive (a
// short read, a negative or crossed extent, a proportional extent that is no number)
// is refused as a whole.
#include "toolkit/reportgrid/report_grid_wnd.h"

namespace {

enum : DWORD
{
    LAYOUT_SORT_ORDER = 0x1,
    LAYOUT_STYLES = 0x2,
    LAYOUT_PREVIEW = 0x4,
    LAYOUT_GROUP_AREA = 0x8,
};
enum : DWORD
{
    COLUMN_SORTING = 0x1,
    COLUMN_GROUPING = 0x2,
    COLUMN_DRAG = 0x4,
    COLUMN_LISTED = 0x8,
    COLUMN_ALIGNMENT_MENU = 0x10,
    COLUMN_IN_SORT_ORDER = 0x20,
};

struct ColumnRecord
{
    CString strCategory, strName;
    DWORD dwFlags = 0, dwStyle = 0;
    LONG nCurrent = 10, nMin = 10, nMax = 32767;
    double lfProportional = 0.0;
};

struct SortEntry
{
    CString strCategory, strName;
    bool bAscending = true;
};

void StoreColumn(CArchive& ar, CExtReportGridColumn* pColumn, bool bStyles, bool bSortOrder,
                 const CExtReportGridSortOrder& order)
{
    ar << CString(pColumn->CategoryNameGet()) << CString(pColumn->ColumnNameGet());
    DWORD dwFlags = 0;
    if (pColumn->SortingEnabledGet())
        dwFlags |= COLUMN_SORTING;
    if (pColumn->GroupingEnabledGet())
        dwFlags |= COLUMN_GROUPING;
    if (pColumn->DragEnabledGet())
        dwFlags |= COLUMN_DRAG;
    if (pColumn->MenuListedGet())
        dwFlags |= COLUMN_LISTED;
    if (pColumn->AlignmentMenuGet())
        dwFlags |= COLUMN_ALIGNMENT_MENU;
    if (bSortOrder && order.IndexOf(pColumn) >= 0)
        dwFlags |= COLUMN_IN_SORT_ORDER;
    ar << dwFlags;
    if (bStyles)
        ar << (DWORD)(pColumn->GetStyle() & 0x3333);
    INT nCurrent = 10, nMin = 10, nMax = 32767;
    pColumn->GetExtent(nCurrent, 0);
    pColumn->GetExtent(nMin, -1);
    pColumn->GetExtent(nMax, 1);
    double lfProportional = 0.0;
    pColumn->GetProportionalExtent(lfProportional);
    ar << (LONG)nCurrent << (LONG)nMin << (LONG)nMax << lfProportional;
}

void LoadColumn(CArchive& ar, ColumnRecord& rec, bool bReadStyle)
{
    ar >> rec.strCategory >> rec.strName >> rec.dwFlags;
    if (bReadStyle)
        ar >> rec.dwStyle;
    ar >> rec.nCurrent >> rec.nMin >> rec.nMax >> rec.lfProportional;
    // The same rule a column's extent setters follow, so what a grid stores reads back.
    CExtReportGridColumn::LAYOUT_FIELDS fields;
    fields.m_nCurrent = rec.nCurrent;
    fields.m_nMin = rec.nMin;
    fields.m_nMax = rec.nMax;
    fields.m_lfProportional = rec.lfProportional;
    if (CExtReportGridColumn::stat_LayoutFaults(fields, NULL, NULL) != 0)
        AfxThrowArchiveException(CArchiveException::badIndex);
}

// A column refuses extents that cross on the way: a minimum above its present maximum
// goes in after the new maximum, any other after the new minimum.
void ApplyExtents(CExtReportGridColumn* pColumn, const ColumnRecord& rec)
{
    INT nMaxNow = 32767;
    pColumn->GetExtent(nMaxNow, 1);
    pColumn->SetExtent(rec.nCurrent, 0);
    if (rec.nMin > nMaxNow)
    {
        pColumn->SetExtent(rec.nMax, 1);
        pColumn->SetExtent(rec.nMin, -1);
    }
    else
    {
        pColumn->SetExtent(rec.nMin, -1);
        pColumn->SetExtent(rec.nMax, 1);
    }
    pColumn->SetProportionalExtent(rec.lfProportional);
}

// Everything a layout archive holds, read whole before anything changes.
struct LoadedLayout
{
    DWORD dwLayout = 0;
    CArray<ColumnRecord, const ColumnRecord&> arrColumns;
    CArray<SortEntry, const SortEntry&> arrActiveColumns;  // in their order on the header
    CArray<SortEntry, const SortEntry&> arrSortEntries;
    DWORD nGroups = 0;
};

void StoreLayout(CExtReportGridWnd& wndGrid, CArchive& ar, bool bStyles, bool bSortOrder)
{
    const CExtReportGridSortOrder& order = wndGrid.SortOrderGet();
    DWORD dwLayout = 0;
    if (bSortOrder)
        dwLayout |= LAYOUT_SORT_ORDER;
    if (bStyles)
        dwLayout |= LAYOUT_STYLES;
    if (wndGrid.IsPreviewStyle())
        dwLayout |= LAYOUT_PREVIEW;
    if (wndGrid.IsGroupAreaVisible())
        dwLayout |= LAYOUT_GROUP_AREA;
    ar << dwLayout;
    // The count is that of the records written, so the archive always reads back.
    CArray<CExtReportGridColumn*, CExtReportGridColumn*> arrColumns;
    for (POSITION pos = wndGrid.ColumnGetStartPosition(NULL, true, true); pos != NULL;)
        arrColumns.Add(wndGrid.ColumnGetNext(pos, NULL, true, true));
    ar << (DWORD)arrColumns.GetSize();
    for (INT_PTR i = 0; i < arrColumns.GetSize(); i++)
        StoreColumn(ar, arrColumns[i], bStyles, bSortOrder, order);
    CExtReportGridDataProvider& dataProvider = wndGrid.GetReportDataProvider();
    const int nActive = dataProvider.ActiveColumnCountGet();
    ar << (DWORD)nActive;
    for (int i = 0; i < nActive; i++)
    {
        CExtReportGridColumn* pColumn = dataProvider.ActiveColumnGet(i);
        ar << CString(pColumn != NULL ? pColumn->CategoryNameGet() : _T(""))
           << CString(pColumn != NULL ? pColumn->ColumnNameGet() : _T(""));
    }
    if (!bSortOrder)
        return;
    ar << (DWORD)order.GetCount() << (DWORD)order.GetGroupCount();
    for (int i = 0; i < order.GetCount(); i++)
    {
        bool bAscending = true;
        CExtReportGridColumn* pColumn = order.ItemGet(i, &bAscending);
        ar << CString(pColumn->CategoryNameGet()) << CString(pColumn->ColumnNameGet()) << (BYTE)(bAscending ? 1 : 0);
    }
}

void LoadLayout(CArchive& ar, bool bStyles, bool bSortOrder, LoadedLayout& loaded)
{
    DWORD nColumns = 0;
    ar >> loaded.dwLayout >> nColumns;
    // Records are read one by one, so memory grows only with what the archive holds.
    for (DWORD i = 0; i < nColumns; i++)
    {
        ColumnRecord rec;
        LoadColumn(ar, rec, bStyles || (loaded.dwLayout & LAYOUT_STYLES) != 0);
        loaded.arrColumns.Add(rec);
    }
    DWORD nActive = 0;
    ar >> nActive;
    for (DWORD i = 0; i < nActive; i++)
    {
        SortEntry entry;
        ar >> entry.strCategory >> entry.strName;
        loaded.arrActiveColumns.Add(entry);
    }
    if (!bSortOrder && (loaded.dwLayout & LAYOUT_SORT_ORDER) == 0)
        return;
    DWORD nEntries = 0;
    ar >> nEntries >> loaded.nGroups;
    for (DWORD i = 0; i < nEntries; i++)
    {
        SortEntry entry;
        BYTE nAscending = 1;
        ar >> entry.strCategory >> entry.strName >> nAscending;
        entry.bAscending = (nAscending & 1) != 0;
        loaded.arrSortEntries.Add(entry);
    }
}

// Whether the archive was made for other columns: a sorted column that is gone, or a
// column that sorts or groups differently now.
bool LayoutMismatchesColumns(CExtReportGridWnd& wndGrid, const LoadedLayout& loaded, bool bSortOrder)
{
    bool bMismatch = false;
    for (INT_PTR i = 0; i < loaded.arrColumns.GetSize(); i++)
    {
        const ColumnRecord& rec = loaded.arrColumns[i];
        CExtReportGridColumn* pColumn = wndGrid.ColumnFind(rec.strName, rec.strCategory);
        if (pColumn == NULL)
        {
            if (bSortOrder && (rec.dwFlags & COLUMN_IN_SORT_ORDER) != 0)
                bMismatch = true;
            continue;
        }
        const DWORD dwNow = (pColumn->SortingEnabledGet() ? (DWORD)COLUMN_SORTING : 0u) |
                            (pColumn->GroupingEnabledGet() ? (DWORD)COLUMN_GROUPING : 0u);
        if (dwNow != (rec.dwFlags & (COLUMN_SORTING | COLUMN_GROUPING)))
            bMismatch = true;
    }
    return bMismatch;
}

void ApplyLayout(CExtReportGridWnd& wndGrid, const LoadedLayout& loaded, bool bStyles, bool bSortOrder)
{
    for (POSITION pos = wndGrid.ColumnGetStartPosition(NULL, true, false); pos != NULL;)
        wndGrid.ColumnActivate(wndGrid.ColumnGetNext(pos, NULL, true, false), false, -1, false);
    for (INT_PTR i = 0; i < loaded.arrColumns.GetSize(); i++)
    {
        const ColumnRecord& rec = loaded.arrColumns[i];
        CExtReportGridColumn* pColumn = wndGrid.ColumnFind(rec.strName, rec.strCategory);
        if (pColumn == NULL)
            continue;
        if (bStyles)
        {
            wndGrid.ColumnCellStyle300Set(pColumn, rec.dwStyle & 0x300, false);
            wndGrid.ColumnCellStyle3000Set(pColumn, rec.dwStyle & 0x3000, false);
            wndGrid.ColumnCellStyle3Set(pColumn, rec.dwStyle & 0x3, false);
            wndGrid.ColumnCellStyle30Set(pColumn, rec.dwStyle & 0x30, false);
        }
        ApplyExtents(pColumn, rec);
    }
    for (INT_PTR i = 0; i < loaded.arrActiveColumns.GetSize(); i++)
    {
        const SortEntry& active = loaded.arrActiveColumns[i];
        CExtReportGridColumn* pColumn = wndGrid.ColumnFind(active.strName, active.strCategory);
        if (pColumn != NULL)
            wndGrid.ColumnActivate(pColumn, true, -1, false);
    }
    if (bSortOrder)
    {
        // Unregistered and repeated columns are refused by the insertion.
        CExtReportGridSortOrder orderLoaded;
        for (INT_PTR i = 0; i < loaded.arrSortEntries.GetSize(); i++)
        {
            const SortEntry& entry = loaded.arrSortEntries[i];
            orderLoaded.ItemInsert(wndGrid.ColumnFind(entry.strName, entry.strCategory), -1, entry.bAscending);
        }
        if (loaded.nGroups <= (DWORD)orderLoaded.GetCount())
            orderLoaded.SetGroupCount((int)loaded.nGroups);
        wndGrid.SortOrderSet(orderLoaded, false, true);
    }
    else
        wndGrid.RebuildItems(true);
    wndGrid.PreviewStyleSet((loaded.dwLayout & LAYOUT_PREVIEW) != 0, true);
    wndGrid.ShowGroupArea((loaded.dwLayout & LAYOUT_GROUP_AREA) != 0);
}

}  // namespace

bool CExtReportGridWnd::SerializeLayout(CArchive& ar, bool bStyles, bool bSortOrder, bool bThrowExceptions,
                                        bool* pbMismatch)
{
    if (pbMismatch != NULL)
        *pbMismatch = false;
    try
    {
        // The data provider is made (or found missing) before the archive is touched.
        GetReportDataProvider();
        if (ar.IsStoring())
        {
            StoreLayout(*this, ar, bStyles, bSortOrder);
            return true;
        }
        LoadedLayout loaded;
        LoadLayout(ar, bStyles, bSortOrder, loaded);
        const bool bMismatch = LayoutMismatchesColumns(*this, loaded, bSortOrder);
        if (pbMismatch != NULL)
            *pbMismatch = bMismatch;
        if (bMismatch)
        {
            if (bThrowExceptions)
                AfxThrowArchiveException(CArchiveException::genericException);
            return false;
        }
        ApplyLayout(*this, loaded, bStyles, bSortOrder);
        return true;
    }
    catch (CException* pException)
    {
        if (bThrowExceptions)
            throw;
        pException->Delete();
        return false;
    }
}
