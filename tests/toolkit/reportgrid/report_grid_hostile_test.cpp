// The mutation run over the report grid's readers: the layout archive, a stored column and
// a stored item (with its preview cell).
#include <gtest/gtest.h>

#include "framework/framework.h"
#include "support/archive_bytes.h"
#include "support/mutation_run.h"
#include "toolkit/grid/grid_cell_string.h"
#include "toolkit/reportgrid/report_grid.h"

namespace {

typedef testsupport::MutationBytes Bytes;

// One grid for every case of a run: three columns, two items, grouped and sorted.
struct Subject
{
    HWND hParent = NULL;
    CExtReportGridWnd grid;
    CExtReportGridItem* pItem = NULL;
    Subject()
    {
        // Shown only in the child process that loads the cases: in the test program
        // itself a window left on the screen would take the other tests' clicks.
        const DWORD dwShown = testsupport::MutationIsChild() ? WS_VISIBLE : 0;
        hParent = ::CreateWindowExA(0, "STATIC", "", WS_POPUP | dwShown, 0, 0, 500, 300, NULL, NULL, NULL, NULL);
        grid.Create(CWnd::FromHandle(hParent), CRect(0, 0, 500, 300), 1, 0, WS_CHILD | WS_VISIBLE);
        CExtReportGridColumn* pName = grid.ColumnRegister("Name", "File", true, false);
        CExtReportGridColumn* pSize = grid.ColumnRegister("Size", "File", true, false);
        grid.ColumnRegister("Date", "", false, false);
        pSize->SetExtent(120, 0);
        pSize->SetProportionalExtent(0.25);
        CTypedPtrArray<CPtrArray, CExtReportGridItem*> arr;
        arr.SetSize(2);
        grid.ItemsRegister(arr, false, false);
        pItem = arr[0];
        for (INT_PTR i = 0; i < arr.GetSize(); i++)
            if (CExtGridCell* pCell = grid.ItemCellGet(pName, arr[i], RUNTIME_CLASS(CExtGridCellString)))
                pCell->TextSet(i == 0 ? "alpha" : "beta");
        if (CExtGridCell* pPreview = pItem->PreviewCellGet(RUNTIME_CLASS(CExtGridCellString)))
            pPreview->TextSet("a preview text");
        CExtReportGridSortOrder order;
        order.ItemInsert(pName, -1, true);
        order.ItemInsert(pSize, -1, false);
        order.SetGroupCount(1);
        grid.SortOrderSet(order, false, false);
    }
    static Subject& Get()
    {
        static Subject* s_pSubject = new Subject;  // lives as long as the process
        return *s_pSubject;
    }
};

std::vector<testsupport::MutationReader> Readers()
{
    return {
        {"layout",
         [] {
             CExtReportGridWnd& grid = Subject::Get().grid;
             return std::vector<Bytes>{
                 testsupport::StoredBytes([&](CArchive& ar) { grid.SerializeLayout(ar, true, true); }),
                 testsupport::StoredBytes([&](CArchive& ar) { grid.SerializeLayout(ar, false, false); })};
         },
         [](const Bytes& b) {
             testsupport::MutationLoadArchive(b, [](CArchive& ar) {
                 bool bMismatch = false;
                 Subject::Get().grid.SerializeLayout(ar, true, true, false, &bMismatch);
             });
             // What a loaded layout shows is painted at once, group area and all.
             ::RedrawWindow(Subject::Get().hParent, NULL, NULL, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
         }},
        {"column",
         [] {
             CExtReportGridColumn* pColumn = Subject::Get().grid.ColumnFind("Size", "File");
             return std::vector<Bytes>{testsupport::StoredBytes([&](CArchive& ar) { pColumn->Serialize(ar); })};
         },
         [](const Bytes& b) {
             testsupport::MutationLoadArchive(b, [](CArchive& ar) {
                 CExtReportGridColumn column;
                 column.Serialize(ar);
             });
         }},
        {"item",
         [] {
             CExtReportGridItem* pItem = Subject::Get().pItem;
             return std::vector<Bytes>{testsupport::StoredBytes([&](CArchive& ar) { pItem->Serialize(ar); })};
         },
         [](const Bytes& b) {
             testsupport::MutationLoadArchive(b, [](CArchive& ar) { Subject::Get().pItem->Serialize(ar); });
         }},
    };
}

}  // namespace

TEST(ReportGridHostile, Child)
{
    if (!testsupport::MutationIsChild())
        GTEST_SKIP() << "run by ReportGridHostile.EveryReaderSurvivesMutations";
    testsupport::MutationChildRun(Readers());
}

TEST(ReportGridHostile, EveryReaderSurvivesMutations)
{
    if (testsupport::MutationIsChild())
        GTEST_SKIP();
    testsupport::MutationParentRun(Readers(), "ReportGridHostile.Child");
}
