// The report grid's layout archive: which columns show and in which order, their
// extents and alignments, the grouping and sorting, the group area and the preview.
// Loading reads the whole archive before it changes anything; a damaged archive (a
// short read, a negative or crossed extent, a proportional extent that is no number)
// is refused as a whole.
#include "toolkit/reportgrid/report_grid_wnd.h"
#include <cmath>

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
    if (rec.nMin < 0 || rec.nMax < rec.nMin || rec.nCurrent < 0 || !std::isfinite(rec.lfProportional))
        AfxThrowArchiveException(CArchiveException::badIndex);
}

}  // namespace

bool CExtReportGridWnd::SerializeLayout(CArchive& ar, bool bStyles, bool bSortOrder, bool bThrowExceptions,
                                        bool* pbMismatch)
{
    if (pbMismatch != NULL)
        *pbMismatch = false;
    try
    {
        const CExtReportGridSortOrder& order = SortOrderGet();
        CExtReportGridDataProvider& dp = GetReportDataProvider();
        if (ar.IsStoring())
        {
            DWORD dwLayout = 0;
            if (bSortOrder)
                dwLayout |= LAYOUT_SORT_ORDER;
            if (bStyles)
                dwLayout |= LAYOUT_STYLES;
            if (IsPreviewStyle())
                dwLayout |= LAYOUT_PREVIEW;
            if (IsGroupAreaVisible())
                dwLayout |= LAYOUT_GROUP_AREA;
            ar << dwLayout;
            // The count is that of the records written, so the archive always reads back.
            CArray<CExtReportGridColumn*, CExtReportGridColumn*> arrColumns;
            for (POSITION pos = ColumnGetStartPosition(NULL, true, true); pos != NULL;)
                arrColumns.Add(ColumnGetNext(pos, NULL, true, true));
            ar << (DWORD)arrColumns.GetSize();
            for (INT_PTR i = 0; i < arrColumns.GetSize(); i++)
                StoreColumn(ar, arrColumns[i], bStyles, bSortOrder, order);
            const int nActive = dp.ActiveColumnCountGet();
            ar << (DWORD)nActive;
            for (int i = 0; i < nActive; i++)
            {
                CExtReportGridColumn* pColumn = dp.ActiveColumnGet(i);
                ar << CString(pColumn != NULL ? pColumn->CategoryNameGet() : _T(""))
                   << CString(pColumn != NULL ? pColumn->ColumnNameGet() : _T(""));
            }
            if (bSortOrder)
            {
                ar << (DWORD)order.GetCount() << (DWORD)order.GetGroupCount();
                for (int i = 0; i < order.GetCount(); i++)
                {
                    bool bAscending = true;
                    CExtReportGridColumn* pColumn = order.ItemGet(i, &bAscending);
                    ar << CString(pColumn->CategoryNameGet()) << CString(pColumn->ColumnNameGet())
                       << (BYTE)(bAscending ? 1 : 0);
                }
            }
            return true;
        }

        // ---- read everything ----
        DWORD dwLayout = 0, nRecords = 0;
        ar >> dwLayout >> nRecords;
        // Records are read one by one, so memory grows only with what the archive holds.
        CArray<ColumnRecord, const ColumnRecord&> arrRecords;
        bool bMismatch = false;
        for (DWORD i = 0; i < nRecords; i++)
        {
            ColumnRecord rec;
            LoadColumn(ar, rec, bStyles || (dwLayout & LAYOUT_STYLES) != 0);
            arrRecords.Add(rec);
        }
        for (INT_PTR i = 0; i < arrRecords.GetSize(); i++)
        {
            const ColumnRecord& rec = arrRecords[i];
            CExtReportGridColumn* pColumn = ColumnFind(rec.strName, rec.strCategory);
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
        DWORD nHeaders = 0;
        ar >> nHeaders;
        CArray<SortEntry, const SortEntry&> arrHeaders;
        for (DWORD i = 0; i < nHeaders; i++)
        {
            SortEntry entry;
            ar >> entry.strCategory >> entry.strName;
            arrHeaders.Add(entry);
        }
        CArray<SortEntry, const SortEntry&> arrEntries;
        DWORD nGroups = 0;
        if (bSortOrder || (dwLayout & LAYOUT_SORT_ORDER) != 0)
        {
            DWORD nEntries = 0;
            ar >> nEntries >> nGroups;
            for (DWORD i = 0; i < nEntries; i++)
            {
                SortEntry entry;
                BYTE nAscending = 1;
                ar >> entry.strCategory >> entry.strName >> nAscending;
                entry.bAscending = (nAscending & 1) != 0;
                arrEntries.Add(entry);
            }
        }
        if (pbMismatch != NULL)
            *pbMismatch = bMismatch;
        if (bMismatch)
        {
            if (bThrowExceptions)
                AfxThrowArchiveException(CArchiveException::genericException);
            return false;
        }

        // ---- apply ----
        for (POSITION pos = ColumnGetStartPosition(NULL, true, false); pos != NULL;)
        {
            CExtReportGridColumn* pColumn = ColumnGetNext(pos, NULL, true, false);
            ColumnActivate(pColumn, false, -1, false);
        }
        for (INT_PTR i = 0; i < arrRecords.GetSize(); i++)
        {
            const ColumnRecord& rec = arrRecords[i];
            CExtReportGridColumn* pColumn = ColumnFind(rec.strName, rec.strCategory);
            if (pColumn == NULL)
                continue;
            if (bStyles)
            {
                ColumnCellStyle300Set(pColumn, rec.dwStyle & 0x300, false);
                ColumnCellStyle3000Set(pColumn, rec.dwStyle & 0x3000, false);
                ColumnCellStyle3Set(pColumn, rec.dwStyle & 0x3, false);
                ColumnCellStyle30Set(pColumn, rec.dwStyle & 0x30, false);
            }
            pColumn->SetExtent(rec.nCurrent, 0);
            pColumn->SetExtent(rec.nMin, -1);
            pColumn->SetExtent(rec.nMax, 1);
            pColumn->SetProportionalExtent(rec.lfProportional);
        }
        for (INT_PTR i = 0; i < arrHeaders.GetSize(); i++)
        {
            CExtReportGridColumn* pColumn = ColumnFind(arrHeaders[i].strName, arrHeaders[i].strCategory);
            if (pColumn != NULL)
                ColumnActivate(pColumn, true, -1, false);
        }
        if (bSortOrder)
        {
            // Unregistered and repeated columns are refused by the insertion.
            CExtReportGridSortOrder orderLoaded;
            for (INT_PTR i = 0; i < arrEntries.GetSize(); i++)
                orderLoaded.ItemInsert(ColumnFind(arrEntries[i].strName, arrEntries[i].strCategory), -1,
                                       arrEntries[i].bAscending);
            if (nGroups <= (DWORD)orderLoaded.GetCount())
                orderLoaded.SetGroupCount((int)nGroups);
            SortOrderSet(orderLoaded, false, true);
        }
        else
            RebuildItems(true);
        PreviewStyleSet((dwLayout & LAYOUT_PREVIEW) != 0, true);
        ShowGroupArea((dwLayout & LAYOUT_GROUP_AREA) != 0);
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
