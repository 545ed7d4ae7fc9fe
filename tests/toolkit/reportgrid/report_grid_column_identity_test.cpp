// Report columns whose identity changes or whose header cell goes: the registry files a
// column where its name and category say, a removed header column leaves the sort order
// and the registry, and a stored column never brings extents or an identity that would
// make the grid's own saved layout unreadable.
#include <gtest/gtest.h>
#include "framework/framework.h"
#include "toolkit/grid/grid_cell_string.h"
#include "toolkit/reportgrid/report_grid.h"
#include "support/archive_bytes.h"
#include "support/child_run.h"
#include "support/dib_canvas.h"
#include "support/exception_probe.h"
#include "report_grid_fixture.h"

#include <algorithm>
#include <functional>
#include <limits>
#include <set>
#include <string>
#include <vector>

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
        ASSERT_NO_FATAL_FAILURE(CheckColumnsInTheirParts(m_grid));
    }
};

// The steps on the column Name: G groups by it (and sorts by Size), A activates it back
// into the header, C renames its category through NameAndCategorySet, M through the
// grid's ColumnRegistryMove, U unregisters it, R removes its header column (it is
// active), X unregisters everything named Name under File and under Other, S stores the
// layout and reads it back.
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
        case 'M':
            ASSERT_TRUE(grid.ColumnRegistryMove("Name", "File", "Name", "Other", false));
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
    for (const char* sOrder : {"CURXS", "GAURS", "GACURXS", "CGAURS", "GARXS", "AGCAURS", "GAURXS", "CRXS", "MURXS", "GAMRXS"})
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
        // The column's own setters refuse these extents, so they go into its fields as a
        // damaged archive would carry them.
        stored.m_nExtentMax = c.nMax;
        stored.m_nExtentMin = c.nMin;
        stored.m_nExtentCurrent = c.nCurrent;
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

namespace {

// A column's layout as the grid's archive keeps it, in words: the same text for two grids
// means the same layout, whatever order their column sets iterate in.
std::string ColumnDescription(CExtReportGridColumn* pColumn)
{
    INT nCurrent = 0, nMin = 0, nMax = 0;
    double lfProportional = 0.0;
    pColumn->GetExtent(nCurrent, 0);
    pColumn->GetExtent(nMin, -1);
    pColumn->GetExtent(nMax, 1);
    pColumn->GetProportionalExtent(lfProportional);
    char sz[256];
    sprintf(sz, "%s|%s sort%d group%d drag%d listed%d align%d style%lx extents %d %d %d %g", pColumn->CategoryNameGet(),
            pColumn->ColumnNameGet(), pColumn->SortingEnabledGet(), pColumn->GroupingEnabledGet(),
            pColumn->DragEnabledGet(), pColumn->MenuListedGet(), pColumn->AlignmentMenuGet(),
            (unsigned long)(pColumn->GetStyle() & 0x3333), nCurrent, nMin, nMax, lfProportional);
    return sz;
}

std::string LayoutDescription(CExtReportGridWnd& grid)
{
    std::vector<std::string> columns;
    for (POSITION pos = grid.ColumnGetStartPosition(NULL, true, true); pos != NULL;)
        columns.push_back(ColumnDescription(grid.ColumnGetNext(pos, NULL, true, true)));
    std::sort(columns.begin(), columns.end());
    std::string s;
    for (const std::string& column : columns)
        s += column + "\n";
    CExtReportGridDataProvider& dp = grid.GetReportDataProvider();
    s += "header:";
    for (int i = 0; i < dp.ActiveColumnCountGet(); i++)
        s += std::string(" ") + dp.ActiveColumnGet(i)->CategoryNameGet() + "|" + dp.ActiveColumnGet(i)->ColumnNameGet();
    const CExtReportGridSortOrder& order = grid.SortOrderGet();
    s += "\nsort, groups " + std::to_string(order.GetGroupCount()) + ":";
    for (int i = 0; i < order.GetCount(); i++)
    {
        bool bAscending = true;
        CExtReportGridColumn* pColumn = order.ItemGet(i, &bAscending);
        s += std::string(" ") + pColumn->ColumnNameGet() + (bAscending ? "+" : "-");
    }
    return s;
}

// A new grid with the columns of another registered under the same names and
// categories, with the same permissions and shown or hidden alike, as an application
// would set it up before it loads a saved layout.
struct GridLike
{
    HWND m_hParent = NULL;
    CExtReportGridWnd m_grid;
    explicit GridLike(CExtReportGridWnd& source)
    {
        m_hParent = ::CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 500, 300, NULL, NULL, NULL, NULL);
        EXPECT_TRUE(m_grid.Create(CWnd::FromHandle(m_hParent), CRect(0, 0, 500, 300), 1, 0, WS_CHILD));
        for (POSITION pos = source.ColumnGetStartPosition(NULL, true, true); pos != NULL;)
        {
            CExtReportGridColumn* pFrom = source.ColumnGetNext(pos, NULL, true, true);
            CExtReportGridColumn* pColumn =
                m_grid.ColumnRegister(pFrom->ColumnNameGet(), pFrom->CategoryNameGet(), pFrom->IsActive(), false);
            if (pColumn == NULL)
            {
                ADD_FAILURE() << "cannot register " << pFrom->ColumnNameGet() << " again";
                continue;
            }
            pColumn->SortingEnabledSet(pFrom->SortingEnabledGet());
            pColumn->GroupingEnabledSet(pFrom->GroupingEnabledGet());
            pColumn->DragEnabledSet(pFrom->DragEnabledGet());
        }
    }
    ~GridLike()
    {
        m_grid.DestroyWindow();
        ::DestroyWindow(m_hParent);
    }
};

// The grid's layout reads back into itself and into a new grid of the same columns, and
// the new grid then has the same layout.
void ExpectLayoutCarriesOver(ColumnScene& scene)
{
    scene.ExpectLayoutRoundTrips();
    const std::vector<BYTE> bytes =
        testsupport::StoredBytes([&](CArchive& ar) { EXPECT_TRUE(scene.m_grid.SerializeLayout(ar, true, true)); });
    GridLike fresh(scene.m_grid);
    CMemFile file(const_cast<BYTE*>(bytes.data()), (UINT)bytes.size());
    CArchive ar(&file, CArchive::load);
    bool bMismatch = true;
    EXPECT_TRUE(fresh.m_grid.SerializeLayout(ar, true, true, false, &bMismatch)) << "a new grid refuses the layout";
    EXPECT_FALSE(bMismatch);
    EXPECT_EQ(LayoutDescription(scene.m_grid), LayoutDescription(fresh.m_grid));
}

struct SetterCase
{
    const char* name;
    std::function<bool(ColumnScene&)> act;  // the setter's own answer; true where it has none
    bool bAnswer;
    const char *sName, *sCategory;  // Date's afterwards
    INT nCurrent, nMin, nMax;
    double lfProportional;
};

// One case on a scene of its own; a fatal failure ends that case only.
void RunSetterCase(const SetterCase& c)
{
    SCOPED_TRACE(c.name);
    ColumnScene scene;
    CExtReportGridColumn* pDate = scene.m_pDate;
    pDate->GroupingEnabledSet(false);
    EXPECT_EQ(c.bAnswer, c.act(scene));
    EXPECT_STREQ(c.sName, pDate->ColumnNameGet());
    EXPECT_STREQ(c.sCategory, pDate->CategoryNameGet());
    EXPECT_EQ(pDate, scene.m_grid.ColumnFind(c.sName, c.sCategory));
    EXPECT_EQ(scene.m_pName, scene.m_grid.ColumnFind("Name", "File"));
    INT nCurrent = -1, nMin = -1, nMax = -1;
    double lfProportional = -1.0;
    pDate->GetExtent(nCurrent, 0);
    pDate->GetExtent(nMin, -1);
    pDate->GetExtent(nMax, 1);
    pDate->GetProportionalExtent(lfProportional);
    EXPECT_EQ(c.nCurrent, nCurrent);
    EXPECT_EQ(c.nMin, nMin);
    EXPECT_EQ(c.nMax, nMax);
    EXPECT_EQ(c.lfProportional, lfProportional);
    ASSERT_NO_FATAL_FAILURE(scene.CheckInvariant());
    ExpectLayoutCarriesOver(scene);
}

}  // namespace

// Every way of naming, moving, resetting, registering or sizing a column follows the rule
// the layout reader follows: a second registered column of one name and category, or an
// extent the reader refuses, is refused and the column stays as it was; what is allowed
// still goes in, into the column itself as well as the registry. A registered column keeps
// its owner, and its header cell stays while the grid files it. Date cannot group, Name
// can: a twin of the two would make the grid refuse its own layout.
TEST(ReportColumnIdentity, SettersKeepTheGridsOwnLayoutReadable)
{
    const double lfNaN = std::numeric_limits<double>::quiet_NaN();
    const SetterCase cases[] = {
        {"NameAndCategorySet to Name's",
         [](ColumnScene& s) { return s.m_pDate->NameAndCategorySet("Name", "File"), true; }, true, "Date", "", 10, 10,
         32767, 0.5},
        {"TextSet, then CategoryNameSet to Name's",
         [](ColumnScene& s) { return s.m_pDate->TextSet("Name"), s.m_pDate->CategoryNameSet("File"), true; }, true,
         "Name", "", 10, 10, 32767, 0.5},
        {"ColumnNameSet, then CategoryNameSet to Name's",
         [](ColumnScene& s) { return s.m_pDate->ColumnNameSet("Name"), s.m_pDate->CategoryNameSet("File"), true; },
         true, "Name", "", 10, 10, 32767, 0.5},
        {"CategoryNameSet, then ColumnNameSet to Name's",
         [](ColumnScene& s) { return s.m_pDate->CategoryNameSet("File"), s.m_pDate->ColumnNameSet("Name"), true; },
         true, "Date", "File", 10, 10, 32767, 0.5},
        {"ColumnRegister of a second Name in File",
         [](ColumnScene& s) { return s.m_grid.ColumnRegister("Name", "File", false, false) != NULL; }, false, "Date",
         "", 10, 10, 32767, 0.5},
        {"ColumnRegistryMove onto Name",
         [](ColumnScene& s) { return s.m_grid.ColumnRegistryMove("Date", "", "Name", "File", false); }, false, "Date",
         "", 10, 10, 32767, 0.5},
        {"NameAndCategorySet to a free pair",
         [](ColumnScene& s) { return s.m_pDate->NameAndCategorySet("Name", "Stats"), true; }, true, "Name", "Stats", 10,
         10, 32767, 0.5},
        {"ColumnRegister of a free pair",
         [](ColumnScene& s) { return s.m_grid.ColumnRegister("Name", "", false, false) != NULL; }, true, "Date", "", 10,
         10, 32767, 0.5},
        {"minimum above the maximum", [](ColumnScene& s) { return s.m_pDate->SetExtent(32768, -1); }, false, "Date", "",
         10, 10, 32767, 0.5},
        {"negative minimum", [](ColumnScene& s) { return s.m_pDate->SetExtent(-1, -1); }, false, "Date", "", 10, 10,
         32767, 0.5},
        {"negative current", [](ColumnScene& s) { return s.m_pDate->SetExtent(-5, 0); }, false, "Date", "", 10, 10,
         32767, 0.5},
        {"maximum below the minimum", [](ColumnScene& s) { return s.m_pDate->SetExtent(9, 1); }, false, "Date", "", 10,
         10, 32767, 0.5},
        {"proportional extent no number", [&](ColumnScene& s) { return s.m_pDate->SetProportionalExtent(lfNaN); },
         false, "Date", "", 10, 10, 32767, 0.5},
        {"maximum raised, then the minimum above the old maximum",
         [](ColumnScene& s) { return s.m_pDate->SetExtent(40000, 1) && s.m_pDate->SetExtent(35000, -1); }, true, "Date",
         "", 10, 35000, 40000, 0.5},
        {"minimum and maximum equal, proportional 0",
         [](ColumnScene& s) {
             return s.m_pDate->SetExtent(0, 0) && s.m_pDate->SetExtent(0, -1) && s.m_pDate->SetExtent(0, 1) &&
                    s.m_pDate->SetProportionalExtent(0.0);
         },
         true, "Date", "", 0, 0, 0, 0.0},
        {"assigned extents the reader refuses",
         [](ColumnScene& s) {
             CExtGridDataProviderMemory dp;
             CExtGridCellHeader header(&dp);
             header.TextSet("Date");
             header.m_nExtentMin = 50;
             header.m_nExtentMax = 20;
             s.m_pDate->Assign(header);
             return true;
         },
         true, "Date", "", 10, 10, 32767, 0.5},
        // Scripts that move, reset or re-own the column and then name it again: each ends
        // with the column named where the registry files it.
        {"ColumnRegistryMove to a free pair",
         [](ColumnScene& s) { return s.m_grid.ColumnRegistryMove("Date", "", "When", "Stats", false); }, true, "When",
         "Stats", 10, 10, 32767, 0.5},
        {"ColumnRegistryMove to a new name in its category",
         [](ColumnScene& s) { return s.m_grid.ColumnRegistryMove("Date", "", "When", "", false); }, true, "When", "",
         10, 10, 32767, 0.5},
        {"ColumnRegistryMove away, then ColumnRegister of the old pair makes another column",
         [](ColumnScene& s) {
             return s.m_grid.ColumnRegistryMove("Date", "", "Date", "Stats", false) &&
                    s.m_grid.ColumnRegister("Date", "", false, false) != NULL &&
                    s.m_grid.ColumnFind("Date", "") != s.m_pDate;
         },
         true, "Date", "Stats", 10, 10, 32767, 0.5},
        {"CategoryNameSet, then ColumnRegistryMove by the pair it now has",
         [](ColumnScene& s) {
             s.m_pDate->CategoryNameSet("Stats");
             return s.m_grid.ColumnRegistryMove("Date", "Stats", "When", "", false);
         },
         true, "When", "", 10, 10, 32767, 0.5},
        {"a free pair read from an archive, then ColumnRegistryMove",
         [](ColumnScene& s) {
             CExtGridDataProviderMemory dp;
             CExtReportGridColumn stored(&dp);
             stored.NameAndCategorySet("When", "Stats");
             stored.GroupingEnabledSet(false);
             const std::vector<BYTE> bytes = testsupport::StoredBytes([&](CArchive& ar) { stored.Serialize(ar); });
             CMemFile file(const_cast<BYTE*>(bytes.data()), (UINT)bytes.size());
             CArchive ar(&file, CArchive::load);
             s.m_pDate->Serialize(ar);
             return s.m_grid.ColumnRegistryMove("When", "Stats", "Then", "Stats", false);
         },
         true, "Then", "Stats", 10, 10, 32767, 0.5},
        {"Reset keeps the owner, then ColumnNameSet",
         [](ColumnScene& s) {
             s.m_pDate->Reset();
             const bool bOwned = s.m_pDate->GetOwner() != NULL && s.m_pDate->ColumnNameGet()[0] == 0;
             return !Throws<CMemoryException>([&] { s.m_pDate->ColumnNameSet("When"); }) && bOwned;
         },
         true, "When", "", 10, 10, 32767, 0.5},
        {"Reset beside an unnamed column of its category keeps the name",
         [](ColumnScene& s) {
             if (s.m_grid.ColumnRegister("", "", false, false) == NULL)
                 return false;
             s.m_pDate->Reset();
             return s.m_pDate->GetOwner() != NULL && CString(s.m_pDate->ColumnNameGet()) == "Date";
         },
         true, "Date", "", 10, 10, 32767, 0.5},
        // Name's header cell is the column itself: the provider may not free it while the
        // grid files it.
        {"the provider empties Name's header cell",
         [](ColumnScene& s) { return s.m_grid.GetDataProvider()->CellRangeEmpty(0, 0, 1, 1); }, false, "Date", "", 10,
         10, 32767, 0.5},
        {"the provider puts a string cell in place of Name's header cell",
         [](ColumnScene& s) {
             CExtGridDataProviderMemory dp;
             CExtGridCellString cell(&dp);
             cell.TextSet("Name");
             return s.m_grid.GetDataProvider()->CellRangeSet(0, 0, 1, 1, &cell, true);
         },
         false, "Date", "", 10, 10, 32767, 0.5},
        {"the provider removes Name's column",
         [](ColumnScene& s) { return s.m_grid.GetDataProvider()->ColumnRemove(0, 1); }, false, "Date", "", 10, 10,
         32767, 0.5},
        {"the provider removes the header row",
         [](ColumnScene& s) { return s.m_grid.GetDataProvider()->RowRemove(0, 1); }, false, "Date", "", 10, 10, 32767,
         0.5},
        // Wherever a call would take the header row, the columns stay where the provider
        // reads them, and no registered column is freed: through the provider, or through
        // its flat store (flat row 1 is the header row, the columns from flat column 1 on).
        {"the provider reserves a second row, puts it above the header row, then removes Name's column",
         [](ColumnScene& s) {
             CExtGridDataProvider* pDP = s.m_grid.GetDataProvider();
             ULONG nCols = 0;
             pDP->OuterCellsReservedGet(&nCols, NULL);
             pDP->OuterCellsReserve(nCols, 2);
             const bool bInserted = pDP->RowInsert(0, 1);
             if (!bInserted)
                 pDP->OuterCellsReserve(nCols, 1);
             return bInserted || pDP->ColumnRemove(0, 1);
         },
         false, "Date", "", 10, 10, 32767, 0.5},
        {"the provider reserves no header row, then removes or empties Name's column",
         [](ColumnScene& s) {
             CExtGridDataProvider* pDP = s.m_grid.GetDataProvider();
             ULONG nCols = 0, nRows = 0;
             pDP->OuterCellsReservedGet(&nCols, NULL);
             pDP->OuterCellsReserve(nCols, 0);
             pDP->OuterCellsReservedGet(NULL, &nRows);
             return nRows != 1 || pDP->ColumnRemove(0, 1) || pDP->CellRangeEmpty(0, 0, 1, 1);
         },
         false, "Date", "", 10, 10, 32767, 0.5},
        {"the flat store removes the header row",
         [](ColumnScene& s) { return s.m_grid.GetReportDataProvider().GetFlatProvider().RowRemove(1, 1); }, false,
         "Date", "", 10, 10, 32767, 0.5},
        {"the flat store empties the header row or replaces Name's header cell",
         [](ColumnScene& s) {
             CExtGridDataProviderMemory& flat = s.m_grid.GetReportDataProvider().GetFlatProvider();
             CExtGridCellString cell(&flat);
             const ULONG nName = (ULONG)s.m_grid.GetReportDataProvider().FlatColumnOf(s.m_pName);
             return flat.CellRangeSet(0, 1, flat.ColumnCountGet(), 1) ||
                    flat.CellRangeSet(nName, 1, 1, 1, &cell, true);
         },
         false, "Date", "", 10, 10, 32767, 0.5},
        {"the flat store moves the header row below the items, or removes it or the columns there",
         [](ColumnScene& s) {
             CTypedPtrArray<CPtrArray, CExtReportGridItem*> items;
             items.SetSize(2);
             if (!s.m_grid.ItemsRegister(items, false, false))
                 return true;
             CExtGridDataProviderMemory& flat = s.m_grid.GetReportDataProvider().GetFlatProvider();
             const ULONG nLast = flat.RowCountGet();
             return flat.MoveColumnOrRow(false, 1, nLast) || flat.RowRemove(nLast - 1, 1) ||
                    flat.ColumnRemove(1, flat.ColumnCountGet() - 1);
         },
         false, "Date", "", 10, 10, 32767, 0.5},
        // The tree's node column and rows through the flat store: nothing is freed or moved
        // under the tree, so the grid goes on registering items and painting its rows.
        {"the flat store removes the node column, puts a row above the root or removes an item's row",
         [](ColumnScene& s) {
             CExtGridDataProviderMemory& flat = s.m_grid.GetReportDataProvider().GetFlatProvider();
             CTypedPtrArray<CPtrArray, CExtReportGridItem*> items;
             items.SetSize(2);
             bool bChanged = !s.m_grid.ItemsRegister(items, true, false) || flat.ColumnRemove(0, 1);
             bChanged |= !s.m_grid.ItemsRegister(items, true, false);
             bChanged |= flat.RowInsert(0, 1) || flat.RowRemove(flat.RowCountGet() - 1, 1);
             testsupport::DibCanvas canvas(500, 300);
             CDC dc;
             dc.Attach(canvas.Dc());
             s.m_grid.OnPaintContent(dc);
             dc.Detach();
             return bChanged || s.m_grid.GetRowCount() != 4 ||
                    s.m_grid.ItemFromNode(s.m_grid.ItemGetByVisibleRow(3)) != items[1];
         },
         false, "Date", "", 10, 10, 32767, 0.5},
        // The registered columns' parts through the flat store (flat column 1 is Date, the
        // hidden part's last, 2 and 3 are Name and Size, the shown part): nothing carries a
        // registered column into another part, where the grid would not find it by its flag.
        {"the flat store puts a column in before Date",
         [](ColumnScene& s) { return s.m_grid.GetReportDataProvider().GetFlatProvider().ColumnInsert(1, 1); }, false,
         "Date", "", 10, 10, 32767, 0.5},
        {"the flat store moves or exchanges Date and Name across their parts",
         [](ColumnScene& s) {
             CExtGridDataProviderMemory& flat = s.m_grid.GetReportDataProvider().GetFlatProvider();
             ULONG nSwaps = 0;
             return flat.MoveColumnOrRow(true, 1, 4) || flat.MoveColumnOrRow(true, 2, 1) ||
                    flat.SwapSeries(1, 2, nSwaps, NULL, true);
         },
         false, "Date", "", 10, 10, 32767, 0.5},
        {"the flat store reserves Name as an outer column",
         [](ColumnScene& s) {
             CExtGridDataProviderMemory& flat = s.m_grid.GetReportDataProvider().GetFlatProvider();
             ULONG nRows = 0;
             flat.OuterCellsReservedGet(NULL, &nRows);
             return flat.OuterCellsReserve(3, nRows);
         },
         false, "Date", "", 10, 10, 32767, 0.5},
        {"the grid makes an outer column, the flat store removes it from before Name",
         [](ColumnScene& s) {
             const bool bMade = s.m_grid.SetLeftOuterColumnCount(1, false) != -1;
             const bool bRemoved = s.m_grid.GetReportDataProvider().GetFlatProvider().ColumnRemove(2, 1);
             return !bMade || bRemoved || s.m_grid.SetLeftOuterColumnCount(0, false) == -1;
         },
         false, "Date", "", 10, 10, 32767, 0.5},
        {"the flat store moves and exchanges Name and Size among the shown columns",
         [](ColumnScene& s) {
             CExtReportGridDataProvider& dp = s.m_grid.GetReportDataProvider();
             ULONG nSwaps = 0;
             return dp.GetFlatProvider().MoveColumnOrRow(true, 3, 2) && dp.ActiveColumnIndexOf(s.m_pSize) == 0 &&
                    dp.GetFlatProvider().SwapSeries(2, 3, nSwaps, NULL, true) && dp.ActiveColumnIndexOf(s.m_pSize) == 1;
         },
         true, "Date", "", 10, 10, 32767, 0.5},
        {"SetOwner to none, then ColumnNameSet",
         [](ColumnScene& s) {
             s.m_pDate->SetOwner(NULL);
             return !Throws<CMemoryException>([&] { s.m_pDate->ColumnNameSet("When"); });
         },
         true, "When", "", 10, 10, 32767, 0.5},
    };
    // In a child process, each case within a bound: a setter that breaks the registry
    // can free a column the grid still walks, which crashes or loops for good.
    testsupport::RunCasesBounded(
        "ReportColumnIdentity.SettersKeepTheGridsOwnLayoutReadable", sizeof(cases) / sizeof(cases[0]),
        [&](size_t i) { RunSetterCase(cases[i]); }, [&](size_t i) { return std::string(cases[i].name); }, 20000);
}
