// Report columns whose identity changes or whose header cell goes: the registry files a
// column where its name and category say, a removed header column leaves the sort order
// and the registry, and a stored column never brings extents or an identity that would
// make the grid's own saved layout unreadable.
#include <gtest/gtest.h>
#include "framework/framework.h"
#include "toolkit/grid/grid_cell_string.h"
#include "toolkit/reportgrid/report_grid.h"
#include "support/archive_bytes.h"
#include "support/exception_probe.h"

#include <set>

namespace {

// A grid with three registered columns: Name and Size under File (shown), Date under ""
// (hidden).
struct ColumnScene
{
    HWND m_hParent = NULL;
    CExtReportGridWnd m_grid;
    CExtReportGridColumn *m_pName = NULL, *m_pSize = NULL, *m_pDate = NULL;
    ColumnScene()
    {
        m_hParent = ::CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 500, 300, NULL, NULL, NULL, NULL);
        EXPECT_TRUE(m_grid.Create(CWnd::FromHandle(m_hParent), CRect(0, 0, 500, 300), 1, 0, WS_CHILD));
        m_pName = m_grid.ColumnRegister("Name", "File", true, false);
        m_pSize = m_grid.ColumnRegister("Size", "File", true, false);
        m_pDate = m_grid.ColumnRegister("Date", "", false, false);
        m_pSize->SetExtent(120, 0);
    }
    ~ColumnScene()
    {
        m_grid.DestroyWindow();
        ::DestroyWindow(m_hParent);
    }
    std::vector<BYTE> StoreLayout()
    {
        return testsupport::StoredBytes([&](CArchive& ar) { EXPECT_TRUE(m_grid.SerializeLayout(ar, true, true)); });
    }
    bool LoadLayout(std::vector<BYTE> bytes)
    {
        CMemFile file(bytes.empty() ? NULL : bytes.data(), (UINT)bytes.size());
        CArchive ar(&file, CArchive::load);
        return m_grid.SerializeLayout(ar, true, true, false, NULL);
    }
    // The grid's own layout reads back.
    void ExpectLayoutRoundTrips() { EXPECT_TRUE(LoadLayout(StoreLayout())) << "the grid's own layout is refused"; }
    // The header cells the provider holds now; only these may be reached through the
    // grid.
    std::set<const void*> LiveColumns()
    {
        std::set<const void*> live;
        CExtReportGridDataProvider& dp = m_grid.GetReportDataProvider();
        for (int i = 0; i < dp.ActiveColumnCountGet(); i++)
            live.insert(dp.ActiveColumnGet(i));
        for (int i = 0; i < dp.InactiveColumnCountGet(); i++)
            live.insert(dp.InactiveColumnGet(i));
        return live;
    }
    // Every sort-order entry is a live column; every live registered column is found under
    // its own name and category; every registered column is live.
    void CheckInvariant()
    {
        const std::set<const void*> live = LiveColumns();
        const CExtReportGridSortOrder& order = m_grid.SortOrderGet();
        ASSERT_LE(order.GetGroupCount(), order.GetCount());
        for (int i = 0; i < order.GetCount(); i++)
            ASSERT_EQ(1u, live.count(order.ItemGet(i))) << "sort order entry " << i << " is freed";
        for (POSITION pos = m_grid.ColumnGetStartPosition(NULL, true, true); pos != NULL;)
            ASSERT_EQ(1u, live.count(m_grid.ColumnGetNext(pos, NULL, true, true))) << "a registered column is freed";
        for (const void* p : live)
        {
            CExtReportGridColumn* pColumn = (CExtReportGridColumn*)p;
            if (pColumn->GetReportGrid() == &m_grid)
                ASSERT_EQ(pColumn, m_grid.ColumnFind(pColumn->ColumnNameGet(), pColumn->CategoryNameGet()))
                    << pColumn->ColumnNameGet() << " in \"" << pColumn->CategoryNameGet() << "\"";
        }
    }
};

// The steps on the column Name: G groups by it (and sorts by Size), A activates it back
// into the header, C renames its category through NameAndCategorySet, U unregisters it,
// R removes its header column (it is active), X unregisters everything named Name under
// File and under Other, S stores the layout and reads it back.
void RunColumnSteps(const char* sOrder)
{
    SCOPED_TRACE(sOrder);
    ColumnScene scene;
    CExtReportGridWnd& grid = scene.m_grid;
    CExtReportGridColumn *pName = scene.m_pName, *pSize = scene.m_pSize;
    bool bRemoved = false, bRenamed = false;
    for (const char* p = sOrder; *p != 0; p++)
    {
        SCOPED_TRACE(std::string(1, *p));
        CExtReportGridDataProvider& dp = grid.GetReportDataProvider();
        switch (*p)
        {
        case 'G':
        {
            CExtReportGridSortOrder order;
            order.ItemInsert(pName, -1, true);
            order.ItemInsert(pSize, -1, false);
            order.SetGroupCount(1);
            ASSERT_TRUE(grid.SortOrderSet(order, false, false));
            break;
        }
        case 'A':
            ASSERT_TRUE(grid.ColumnActivate(pName, true, -1, false));
            break;
        case 'C':
            pName->NameAndCategorySet("Name", "Other");
            bRenamed = true;
            break;
        case 'U':
            ASSERT_TRUE(grid.ColumnUnregister(pName, false));
            break;
        case 'R':
            ASSERT_EQ(1, grid.RemoveColumns(dp.ActiveColumnIndexOf(pName), 1, false));
            bRemoved = true;
            break;
        case 'X':
            grid.ColumnUnregisterAll("Name", "File", false);
            grid.ColumnUnregisterAll("Name", "Other", false);
            break;
        case 'S':
            scene.ExpectLayoutRoundTrips();
            break;
        }
        ASSERT_NO_FATAL_FAILURE(scene.CheckInvariant());
        if (!bRemoved)
            EXPECT_STREQ(bRenamed ? "Other" : "File", pName->CategoryNameGet());
    }
    EXPECT_TRUE(bRemoved);
    EXPECT_EQ(nullptr, grid.ColumnFind("Name", "File"));
    EXPECT_EQ(nullptr, grid.ColumnFind("Name", "Other"));
    EXPECT_EQ(0, grid.SortOrderGet().GetGroupCount()) << "the group area shows no removed column";
}

}  // namespace

TEST(ReportColumnIdentity, ColumnStepsInAnyOrderLeaveNoStaleColumn)
{
    for (const char* sOrder : {"CURXS", "GAURS", "GACURXS", "CGAURS", "GARXS", "AGCAURS", "GAURXS", "CRXS"})
        RunColumnSteps(sOrder);
}
