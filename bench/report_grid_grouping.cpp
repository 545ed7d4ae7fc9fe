// The report grid grouped by one column: regrouping its items and the first paint after
// it, at 10,000 and 100,000 items, with the cost per item at both sizes set against the
// n log n bound; and, in the same run and for scale, the first paint of the plain grid
// window showing the same rows ungrouped from its memory data provider.
#include <math.h>
#include <stdio.h>

#include "bench/window_bench.h"
#include "framework/framework.h"
#include "toolkit/grid/grid_cell_string.h"
#include "toolkit/grid/grid_wnd.h"
#include "toolkit/reportgrid/report_grid.h"

namespace {

const int kColumns = 5;   // the first one is grouped by
const int kGroups = 100;  // distinct values of the grouped column
const int kRounds = 5;    // the best of these rounds counts
const int kWidth = 800, kHeight = 600;

// Rows arrive in an order unlike the grouped one, so grouping has to sort.
void FormatCell(char* s, size_t n, int nRow, int nCol)
{
    if (nCol == 0)
        snprintf(s, n, "Group %03d", (int)((nRow * 7919u) % kGroups));
    else
        snprintf(s, n, "Row %d, item %d", nRow, nCol);
}

HWND MakeHost(const char* sTitle) { return BenchMakeHost(sTitle, kWidth, kHeight); }

struct Figures
{
    double tRegroup = 0, tFirstPaint = 0, tSortOnly = 0;
    LONG nRowsShown = 0;
};

Figures MeasureReportGrid(int nItems)
{
    Figures f;
    HWND hHost = MakeHost("report grid");
    CExtReportGridWnd* pGrid = new CExtReportGridWnd;
    if (!pGrid->Create(CWnd::FromHandle(hHost), CRect(0, 0, kWidth, kHeight), 1, 0, WS_CHILD | WS_VISIBLE))
    {
        printf("report grid window not created\n");
        ::DestroyWindow(hHost);
        delete pGrid;
        return f;
    }
    char s[64];
    CExtReportGridColumn* arrColumns[kColumns] = {};
    for (int c = 0; c < kColumns; c++)
    {
        snprintf(s, sizeof(s), "Column %d", c);
        arrColumns[c] = pGrid->ColumnRegister(s, "Bench", true, false);
    }
    CTypedPtrArray<CPtrArray, CExtReportGridItem*> arrItems;
    arrItems.SetSize(nItems);
    if (!pGrid->ItemsRegister(arrItems, false, false))
        printf("items not registered\n");
    for (int r = 0; r < nItems; r++)
        for (int c = 0; c < kColumns; c++)
        {
            CExtGridCell* pCell = pGrid->ItemCellGet(arrColumns[c], arrItems[r], RUNTIME_CLASS(CExtGridCellString));
            FormatCell(s, sizeof(s), r, c);
            if (pCell != NULL)
                pCell->TextSet(s);
        }
    pGrid->RebuildItems(false);
    BenchPump();
    BenchPaintNow(pGrid->m_hWnd);
    CExtReportGridSortOrder orderGrouped, orderNone, orderSorted, orderOther;
    orderGrouped.ItemInsert(arrColumns[0], -1, true);
    orderGrouped.SetGroupCount(1);
    orderSorted.ItemInsert(arrColumns[0], -1, true);
    orderOther.ItemInsert(arrColumns[1], -1, true);
    // Ungrouping keeps the rows in the order they had; sorted by another column first they
    // start each measured step in an order unrelated to the grouped column's.
    auto Scramble = [&]()
    {
        pGrid->SortOrderSet(orderOther, false, false);
        pGrid->SortOrderSet(orderNone, false, false);
    };
    for (int nRound = 0; nRound < kRounds; nRound++)
    {
        // The same rows sorted by the same column without groups: the share of the sort.
        Scramble();
        const double tSort0 = BenchNow();
        pGrid->SortOrderSet(orderSorted, false, false);
        const double tSortOnly = BenchNow() - tSort0;
        if (nRound == 0 || tSortOnly < f.tSortOnly)
            f.tSortOnly = tSortOnly;
        Scramble();
        BenchPump();
        const double t0 = BenchNow();
        pGrid->SortOrderSet(orderGrouped, false, false);
        const double tRegroup = BenchNow() - t0;
        const double tPaint = BenchPaintNow(pGrid->m_hWnd);
        if (nRound == 0 || tRegroup < f.tRegroup)
            f.tRegroup = tRegroup;
        if (nRound == 0 || tPaint < f.tFirstPaint)
            f.tFirstPaint = tPaint;
    }
    f.nRowsShown = pGrid->GetRowCount();
    pGrid->DestroyWindow();
    delete pGrid;
    ::DestroyWindow(hHost);
    BenchPump();
    return f;
}

// The grid window of the paging benchmark with the same rows, ungrouped.
double MeasurePlainGridFirstPaint(int nRows)
{
    HWND hHost = MakeHost("grid");
    CExtGridWnd* pGrid = new CExtGridWnd;
    double t = 0;
    if (pGrid->Create(CWnd::FromHandle(hHost), CRect(0, 0, kWidth, kHeight), 1, 0xA | 0x4000000 | 0x8000000,
                      WS_CHILD | WS_VISIBLE))
    {
        pGrid->SetTopOuterRowCount(1, false);
        pGrid->InsertColumns(0, kColumns, false);
        pGrid->InsertRows(0, nRows, false);
        char s[64];
        for (int c = 0; c < kColumns; c++)
        {
            snprintf(s, sizeof(s), "Column %d", c);
            CExtGridCell* pHeader = pGrid->GridCellGet(c, 0, 0, -1, RUNTIME_CLASS(CExtGridCellString));
            if (pHeader != NULL)
                pHeader->TextSet(s);
            for (int r = 0; r < nRows; r++)
            {
                CExtGridCell* pCell = pGrid->GridCellGet(c, r, 0, 0, RUNTIME_CLASS(CExtGridCellString));
                FormatCell(s, sizeof(s), r, c);
                if (pCell != NULL)
                    pCell->TextSet(s);
            }
        }
        pGrid->UpdateScrollBars();
        BenchPump();
        t = BenchPaintNow(pGrid->m_hWnd);
        pGrid->DestroyWindow();
    }
    else
        printf("grid window not created\n");
    delete pGrid;
    ::DestroyWindow(hHost);
    BenchPump();
    return t;
}

}  // namespace

int main()
{
    AfxWinInit(::GetModuleHandle(NULL), NULL, ::GetCommandLine(), SW_SHOW);
    printf("report grid grouped by one column of %d values, %d columns, %dx%d pixels, best of %d rounds\n", kGroups,
           kColumns, kWidth, kHeight, kRounds);
    const int arrSizes[2] = {10000, 100000};
    Figures arrFigures[2];
    double arrPlain[2] = {};
    for (int i = 0; i < 2; i++)
    {
        const int n = arrSizes[i];
        arrFigures[i] = MeasureReportGrid(n);
        arrPlain[i] = MeasurePlainGridFirstPaint(n);
        const Figures& f = arrFigures[i];
        printf("%7d items (%ld rows shown): regroup %9.3f ms, first paint %8.3f ms; per item %7.3f us "
               "(regroup %7.3f us, paint %7.3f us)\n",
               n, (long)f.nRowsShown, f.tRegroup * 1e3, f.tFirstPaint * 1e3, (f.tRegroup + f.tFirstPaint) * 1e6 / n,
               f.tRegroup * 1e6 / n, f.tFirstPaint * 1e6 / n);
        printf("%7d items sorted by the same column without groups: %9.3f ms, per item %7.3f us\n", n,
               f.tSortOnly * 1e3, f.tSortOnly * 1e6 / n);
        printf("%7d rows, plain grid window ungrouped: first paint %8.3f ms\n", n, arrPlain[i] * 1e3);
    }
    auto perItem = [&](int i) { return (arrFigures[i].tRegroup + arrFigures[i].tFirstPaint) / arrSizes[i]; };
    const double dBound = log((double)arrSizes[1]) / log((double)arrSizes[0]);
    printf("per-item time, 100,000 items against 10,000: x%.2f (regroup alone x%.2f); the n log n bound allows x%.2f: %s\n",
           perItem(0) > 0 ? perItem(1) / perItem(0) : 0.0,
           arrFigures[0].tRegroup > 0 ? (arrFigures[1].tRegroup / arrSizes[1]) / (arrFigures[0].tRegroup / arrSizes[0])
                                      : 0.0,
           dBound, perItem(0) > 0 && perItem(1) / perItem(0) <= dBound ? "within" : "beyond");
    return 0;
}
