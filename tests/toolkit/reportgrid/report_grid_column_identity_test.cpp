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
    // The grid's own layout reads back.
    void ExpectLayoutRoundTrips()
    {
        std::vector<BYTE> bytes =
            testsupport::StoredBytes([&](CArchive& ar) { EXPECT_TRUE(m_grid.SerializeLayout(ar, true, true)); });
        CMemFile file(bytes.data(), (UINT)bytes.size());
        CArchive ar(&file, CArchive::load);
        EXPECT_TRUE(m_grid.SerializeLayout(ar, true, true, false, NULL)) << "the grid's own layout is refused";
    }
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
            {
                ASSERT_EQ(pColumn, m_grid.ColumnFind(pColumn->ColumnNameGet(), pColumn->CategoryNameGet()))
                    << pColumn->ColumnNameGet() << " in \"" << pColumn->CategoryNameGet() << "\"";
            }
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
        {
            EXPECT_STREQ(bRenamed ? "Other" : "File", pName->CategoryNameGet());
        }
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

// Extents the layout reader refuses, in a stored column: the load is refused and the
// column keeps what it had, so the grid's own layout still reads back.
TEST(ReportColumnIdentity, StoredColumnWithImpossibleExtentsIsRefused)
{
    struct Case
    {
        const char* name;
        INT nCurrent, nMin, nMax;
    } cases[] = {
        {"minimum above the maximum", 50, 32778, 32767},
        {"negative minimum", 50, -1, 100},
        {"negative current", -5, 10, 100},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        ColumnScene scene;
        CExtReportGridColumn* pSize = scene.m_pSize;
        CExtGridDataProviderMemory dp;
        CExtReportGridColumn stored(&dp);
        stored.NameAndCategorySet("Size", "File");
        stored.SetExtent(c.nMax, 1);
        stored.SetExtent(c.nMin, -1);
        stored.SetExtent(c.nCurrent, 0);
        const std::vector<BYTE> bytes = testsupport::StoredBytes([&](CArchive& ar) { stored.Serialize(ar); });
        const int nCause = ThrownCause<CArchiveException>([&] {
            CMemFile file(const_cast<BYTE*>(bytes.data()), (UINT)bytes.size());
            CArchive ar(&file, CArchive::load);
            pSize->Serialize(ar);
        });
        EXPECT_EQ(CArchiveException::badIndex, nCause);
        INT nMin = 0, nMax = 0;
        pSize->GetExtent(nMin, -1);
        pSize->GetExtent(nMax, 1);
        EXPECT_EQ(10, nMin);
        EXPECT_EQ(32767, nMax);
        INT nCurrent = 0;
        pSize->GetExtent(nCurrent, 0);
        EXPECT_EQ(120, nCurrent);
        scene.ExpectLayoutRoundTrips();
    }
}

// A column read or assigned into a registered column never takes the name and category
// of another registered column: the load is refused, the assignment keeps the column's
// own; either way the grid's own layout reads back, whatever the flags of the two.
TEST(ReportColumnIdentity, NoSecondRegisteredColumnOfOneNameAndCategory)
{
    ColumnScene scene;
    CExtReportGridWnd& grid = scene.m_grid;
    CExtReportGridColumn *pSize = scene.m_pSize, *pDate = scene.m_pDate;
    CExtGridDataProviderMemory dp;
    CExtReportGridColumn twin(&dp);
    twin.NameAndCategorySet("Size", "File");
    twin.GroupingEnabledSet(false);
    const std::vector<BYTE> bytes = testsupport::StoredBytes([&](CArchive& ar) { twin.Serialize(ar); });
    const struct Way
    {
        const char* name;
        const CExtGridCell* pAssigned;  // NULL: the twin's bytes are read
    } ways[] = {{"load", NULL}, {"assign a loose twin", &twin}, {"assign the registered one", pSize}};
    for (const Way& way : ways)
    {
        SCOPED_TRACE(way.name);
        if (way.pAssigned == NULL)
        {
            const int nCause = ThrownCause<CArchiveException>([&] {
                CMemFile file(const_cast<BYTE*>(bytes.data()), (UINT)bytes.size());
                CArchive ar(&file, CArchive::load);
                pDate->Serialize(ar);
            });
            EXPECT_EQ(CArchiveException::genericException, nCause);
            EXPECT_TRUE(pDate->GroupingEnabledGet()) << "a refused load changes nothing";
        }
        else
            pDate->Assign(*way.pAssigned);
        EXPECT_STREQ("Date", pDate->ColumnNameGet());
        EXPECT_STREQ("", pDate->CategoryNameGet());
        EXPECT_EQ(pDate, grid.ColumnFind("Date", ""));
        EXPECT_EQ(pSize, grid.ColumnFind("Size", "File"));
        scene.ExpectLayoutRoundTrips();
        ASSERT_NO_FATAL_FAILURE(scene.CheckInvariant());
    }
    // A column that takes a name no other registered column has still takes it.
    twin.NameAndCategorySet("When", "Stats");
    pDate->Assign(twin);
    EXPECT_EQ(pDate, grid.ColumnFind("When", "Stats"));
    scene.ExpectLayoutRoundTrips();
}
