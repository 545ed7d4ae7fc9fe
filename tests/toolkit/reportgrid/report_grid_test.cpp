// The report grid: its column registry and activation, items grouped and sorted through
// the report sort order, and the bound on the group-by columns.
#include "report_grid_fixture.h"
#include <functional>
#include <memory>
#include "support/archive_bytes.h"

namespace {

using ReportGridTest = ReportGridFixture;

}  // namespace

TEST_F(ReportGridTest, NewGridAndNewColumnDefaults)
{
    EXPECT_EQ(0x1Eu, m_grid.GetReportStyle());
    EXPECT_EQ(32767, m_grid.GetMaxGroupByColumns());
    CString strProfile;
    strProfile.Format("Kestrix-Report-Grid-%p", (void*)&m_grid);
    EXPECT_STREQ(strProfile, m_grid.GetProfileName());
    CExtReportGridColumn column;
    CExtReportGridColumn* pColumn = &column;
    EXPECT_EQ(23, pColumn->MeasureHeader().cy) << "no grid: the default header height";
    EXPECT_TRUE(pColumn->IsActive() && pColumn->GroupingEnabledGet() && pColumn->SortAscendingGet() &&
                pColumn->MenuListedGet() && pColumn->AlignmentMenuGet() && pColumn->DragEnabledGet());
    INT nMin = 0, nCur = 0;
    EXPECT_TRUE(pColumn->GetExtent(nMin, -1) && pColumn->GetExtent(nCur, 0));
    EXPECT_EQ(10, nMin);
    EXPECT_EQ(10, nCur);
    pColumn->SortingEnabledSet(false);
    EXPECT_FALSE(pColumn->GroupingEnabledGet()) << "grouping needs sorting";
    EXPECT_EQ(nullptr, m_grid.ColumnRegister("Bad", "General", true, false, RUNTIME_CLASS(CExtGridCellString)));
}

TEST_F(ReportGridTest, RegistrationActivationAndHiding)
{
    CExtReportGridColumn* pA = m_grid.ColumnRegister("A", "X", true, false);
    CExtReportGridColumn* pB = m_grid.ColumnRegister("B", "X", true, false);
    CExtReportGridColumn* pC = m_grid.ColumnRegister("C", "Y", false, false);
    ASSERT_TRUE(pA && pB && pC);
    struct Step
    {
        const char* name;
        std::function<bool()> act;
        bool bResult;
        const char *active, *inactive;
    } steps[] = {
        {"registered inactive", [] { return true; }, true, "A,B", "C"},
        {"activate at the front", [&] { return m_grid.ColumnActivate("C", "Y", true, 0, false); }, true, "C,A,B", ""},
        {"active at its own index", [&] { return m_grid.ColumnActivate(pA, true, 1, false); }, true, "C,A,B", ""},
        {"move an active column", [&] { return m_grid.ColumnActivate(pC, true, 3, false); }, true, "A,B,C", ""},
        {"hide", [&] { return m_grid.ColumnActivate(pA, false, -1, false); }, true, "B,C", "A"},
        {"hide a hidden one", [&] { return m_grid.ColumnActivate(pA, false, -1, false); }, true, "B,C", "A"},
        {"hide a category", [&] { return m_grid.ColumnActivate(NULL, "X", false, -1, false); }, true, "C", "A,B"},
        {"unknown name", [&] { return m_grid.ColumnActivate("Z", "X", true, -1, false); }, false, "C", "A,B"},
        {"show everything", [&] { return m_grid.ColumnActivate(NULL, NULL, true, -1, false); }, true, "", ""},
    };
    for (const Step& step : steps)
    {
        EXPECT_EQ(step.bResult, step.act()) << step.name;
        if (std::string(step.name) == "show everything")
        {
            EXPECT_EQ(3, m_grid.ColumnGetCount(true, false)) << step.name;
            EXPECT_EQ(0, m_grid.ColumnGetCount(false, true)) << step.name;
            continue;
        }
        EXPECT_EQ(step.active, ActiveNames()) << step.name;
        EXPECT_EQ(step.inactive, InactiveNames()) << step.name;
        EXPECT_EQ(m_grid.GetColumnCount(), m_grid.ColumnGetCount(true, false)) << step.name;
    }
    int nInX = 0;
    for (POSITION pos = m_grid.ColumnGetStartPosition("X"); pos != NULL; nInX++)
        EXPECT_STREQ("X", m_grid.ColumnGetNext(pos, "X")->CategoryNameGet());
    EXPECT_EQ(2, nInX);
    pB->ColumnNameSet("B2");
    EXPECT_EQ(pB, m_grid.ColumnFind("B2", "X"));
    EXPECT_EQ(nullptr, m_grid.ColumnFind("B", "X"));
    pB->CategoryNameSet("Y");
    EXPECT_EQ(pB, m_grid.ColumnFind("B2", "Y"));
    EXPECT_EQ(2, m_grid.ColumnUnregisterAll("C", "Y", false) + m_grid.ColumnUnregisterAll("B2", "Y", false));
    EXPECT_FALSE(m_grid.ColumnUnregister(pC, false)) << "already gone";
    EXPECT_EQ(pA, m_grid.ColumnFind("A", "X"));
}

TEST_F(ReportGridTest, GroupingAndSortingWithinGroups)
{
    CExtReportGridColumn* pName = m_grid.ColumnRegister("Name", "", true, false);
    CExtReportGridColumn* pKind = m_grid.ColumnRegister("Kind", "", true, false);
    CExtReportGridColumn* pSize = m_grid.ColumnRegister("Size", "", true, false);
    const std::vector<CExtReportGridColumn*> cols = {pName, pKind, pSize};
    AddItems(cols, {{"b", "x", "2"}, {"a", "y", "1"}, {"b", "y", "1"}, {"a", "x", "2"}, {"c", "x", "1"},
                    {"a", "x", "3"}});
    struct Case
    {
        const char* name;
        std::vector<std::pair<CExtReportGridColumn*, bool>> keys;
        int nGroups;
        const char* rows;
        const char* active;
    } cases[] = {
        {"no order keeps the row order", {}, 0, "bx2 ay1 by1 ax2 cx1 ax3", "Name,Kind,Size"},
        {"sort by size descending, then name", {{pSize, false}, {pName, true}}, 0, "ax3 ax2 bx2 ay1 by1 cx1",
         "Name,Kind,Size"},
        {"group by name, size descending inside", {{pName, true}, {pSize, false}}, 1,
         "<a> ax3 ax2 ay1 <b> bx2 by1 <c> cx1", "Kind,Size"},
        {"group by name descending and kind", {{pName, false}, {pKind, true}, {pSize, true}}, 2,
         "<c> <x> cx1 <b> <x> bx2 <y> by1 <a> <x> ax2 ax3 <y> ay1", "Size"},
        {"back to no groups", {{pSize, true}, {pName, true}}, 0, "ay1 by1 cx1 ax2 bx2 ax3", "Size"},
    };
    for (const Case& c : cases)
    {
        CExtReportGridSortOrder order;
        for (const auto& key : c.keys)
            ASSERT_TRUE(order.ItemInsert(key.first, -1, key.second)) << c.name;
        ASSERT_TRUE(order.SetGroupCount(c.nGroups)) << c.name;
        ASSERT_TRUE(m_grid.SortOrderSet(order, false, false)) << c.name;
        EXPECT_EQ(c.rows, Rows(cols)) << c.name;
        EXPECT_EQ(c.active, ActiveNames()) << c.name;
        EXPECT_EQ(c.nGroups > 0, m_grid.IsTreeColumn(0)) << c.name;
        for (CExtReportGridColumn* pColumn : cols)
        {
            bool bAscending = true;
            const int nAt = order.IndexOf(pColumn);
            order.ItemGet(nAt, &bAscending);
            const DWORD dwArrow = pColumn->GetStyle() & 0x300000;
            EXPECT_EQ(nAt < 0 ? 0u : (bAscending ? 0x100000u : 0x300000u), nAt < 0 ? (dwArrow & 0x100000) : dwArrow)
                << c.name << " " << pColumn->ColumnNameGet();
        }
    }
}

TEST_F(ReportGridTest, GroupByLimitAndItsNegativeBound)
{
    CExtReportGridColumn* pName = m_grid.ColumnRegister("Name", "", true, false);
    CExtReportGridColumn* pKind = m_grid.ColumnRegister("Kind", "", true, false);
    const std::vector<CExtReportGridColumn*> cols = {pName, pKind};
    AddItems(cols, {{"b", "x"}, {"a", "y"}, {"a", "x"}});
    CExtReportGridSortOrder order;
    order.ItemInsert(pName, -1, true);
    order.ItemInsert(pKind, -1, true);
    order.SetGroupCount(2);
    m_grid.SetMaxGroupByColumns(1, false, false);
    EXPECT_FALSE(m_grid.SortOrderSet(order, false, false)) << "one group-by column more than allowed";
    m_grid.SetMaxGroupByColumns(2, false, false);
    ASSERT_TRUE(m_grid.SortOrderSet(order, false, false)) << "exactly the maximum";
    EXPECT_EQ("<a> <x> ax <y> ay <b> <x> bx", Rows(cols));
    m_grid.SetMaxGroupByColumns(-3, true, false);
    EXPECT_EQ(0, m_grid.GetMaxGroupByColumns()) << "a negative bound counts as none";
    EXPECT_EQ(0, m_grid.SortOrderGet().GetGroupCount());
    EXPECT_EQ("ax ay bx", Rows(cols)) << "the groups went, the sorting stayed";
    EXPECT_TRUE(m_grid.SortOrderSet(CExtReportGridSortOrder(), false, false)) << "an empty order is still allowed";
}

TEST_F(ReportGridTest, RemovingTheLastItemOfAGroupRemovesTheGroup)
{
    CExtReportGridColumn* pName = m_grid.ColumnRegister("Name", "", true, false);
    CExtReportGridColumn* pKind = m_grid.ColumnRegister("Kind", "", true, false);
    const std::vector<CExtReportGridColumn*> cols = {pName, pKind};
    AddItems(cols, {{"b", "x"}, {"a", "y"}, {"a", "x"}});
    CExtReportGridSortOrder order;
    order.ItemInsert(pName, -1, true);
    order.ItemInsert(pKind, -1, true);
    order.SetGroupCount(1);
    ASSERT_TRUE(m_grid.SortOrderSet(order, false, false));
    ASSERT_EQ("<a> ax ay <b> bx", Rows(cols));
    ASSERT_TRUE(m_grid.ItemUnregister(m_grid.ItemFromNode(m_grid.ItemGetByVisibleRow(4)), true, false));
    EXPECT_EQ("<a> ax ay", Rows(cols));
    ASSERT_TRUE(m_grid.ItemUnregister(m_grid.ItemFromNode(m_grid.ItemGetByVisibleRow(1)), true, false));
    EXPECT_EQ("<a> ay", Rows(cols));
}

TEST_F(ReportGridTest, RemovingSelectedRowsMovesTheFocusOn)
{
    CExtReportGridColumn* pName = m_grid.ColumnRegister("Name", "", true, false);
    CExtReportGridColumn* pKind = m_grid.ColumnRegister("Kind", "", true, false);
    const std::vector<CExtReportGridColumn*> cols = {pName, pKind};
    AddItems(cols, {{"b", "x"}, {"a", "y"}, {"a", "x"}, {"c", "z"}});
    CExtReportGridSortOrder order;
    order.ItemInsert(pName, -1, true);
    order.ItemInsert(pKind, -1, true);
    order.SetGroupCount(1);
    ASSERT_TRUE(m_grid.SortOrderSet(order, false, false));
    ASSERT_EQ("<a> ax ay <b> bx <c> cz", Rows(cols));
    struct Case
    {
        const char* name;
        RECT rcSelect;
        const char* rows;
        const char* focus;
    } cases[] = {
        {"a group row takes its items", {0, 0, 0, 0}, "<b> bx <c> cz", "<b>"},
        {"a leaf, focus on the row after", {1, 1, 1, 1}, "<c> cz", "<c>"},
        {"the last leaf of a group takes the group", {0, 1, 1, 1}, "", ""},
    };
    for (const Case& c : cases)
    {
        ASSERT_TRUE(m_grid.SelectionSet(c.rcSelect, true, false, false)) << c.name;
        EXPECT_TRUE(m_grid.ItemsUnregisterSelected(false)) << c.name;
        EXPECT_EQ(c.rows, Rows(cols)) << c.name;
        const std::string rows = Rows(cols) + " ";
        std::string focus;
        for (LONG r = 0, pos = 0; r <= m_grid.FocusGet().y && m_grid.FocusGet().y >= 0; r++)
        {
            const size_t next = rows.find(' ', (size_t)pos);
            focus = rows.substr((size_t)pos, next - (size_t)pos);
            pos = (LONG)next + 1;
        }
        EXPECT_EQ(c.focus, focus) << c.name;
    }
    EXPECT_FALSE(m_grid.ItemsUnregisterSelected(false)) << "nothing left to remove";
}

TEST_F(ReportGridTest, HeaderClickSorts)
{
    CExtReportGridColumn* pA = m_grid.ColumnRegister("A", "", true, false);
    CExtReportGridColumn* pB = m_grid.ColumnRegister("B", "", true, false);
    CExtReportGridColumn* pG = m_grid.ColumnRegister("G", "", true, false);
    CExtGridHitTestInfo hti;
    hti.m_dwAreaFlags = CExtGridHitTestInfo::AreaFlagsFromTypes(0, -1);
    // The order as "A+ B-" with "|" after the group-by entries.
    auto Order = [&]() {
        std::string s;
        const CExtReportGridSortOrder& order = m_grid.SortOrderGet();
        for (int i = 0; i < order.GetCount(); i++)
        {
            bool bAscending = true;
            CExtReportGridColumn* p = order.ItemGet(i, &bAscending);
            s += std::string(i ? " " : "") + p->ColumnNameGet() + (bAscending ? "+" : "-");
            if (i + 1 == order.GetGroupCount())
                s += " |";
        }
        return s;
    };
    struct Step
    {
        const char* name;
        CExtReportGridColumn* pColumn;
        UINT nFlags;
        bool bClicked, bDragged, bResult;
        const char* order;
    } steps[] = {
        {"a click sorts ascending", pA, 0, true, false, true, "A+"},
        {"a second click reverses", pA, 0, true, false, true, "A-"},
        {"another column replaces it", pB, 0, true, false, true, "B+"},
        {"shift appends", pA, 0x4, true, false, true, "B+ A+"},
        {"shift reverses in place", pB, 0x4, true, false, true, "B- A+"},
        {"ctrl does nothing", pA, 0x8, true, false, true, "B- A+"},
        {"a drag is the grid's", pA, 0, true, true, false, "B- A+"},
        {"a release elsewhere does nothing", pA, 0, false, false, true, "B- A+"},
    };
    for (const Step& step : steps)
    {
        EXPECT_EQ(step.bResult,
                  step.pColumn->OnOuterPressEnd(m_grid, hti, 1, step.nFlags, step.bClicked, step.bDragged))
            << step.name;
        EXPECT_EQ(step.order, Order()) << step.name;
    }
    CExtReportGridSortOrder grouped;
    grouped.ItemInsert(pG, -1, true);
    grouped.ItemInsert(pA, -1, true);
    grouped.SetGroupCount(1);
    ASSERT_TRUE(m_grid.SortOrderSet(grouped, false, false));
    EXPECT_TRUE(pB->OnOuterPressEnd(m_grid, hti, 1, 0, true, false));
    EXPECT_EQ("G+ | B+", Order()) << "a plain click keeps the group-by columns";
    EXPECT_TRUE(pG->OnOuterPressEnd(m_grid, hti, 1, 0, true, false));
    EXPECT_EQ("G+ |", Order()) << "a group-by column clicked leaves only the group-by columns";
}

// A stored column reads back into a column that has no provider yet, names and all.
TEST(ReportGridColumnArchive, ReadsBackWithoutAProvider)
{
    CExtGridDataProviderMemory dp;
    CExtReportGridColumn column(&dp);
    column.NameAndCategorySet("Size", "File");
    column.SortAscendingSet(false);
    const std::vector<BYTE> stored = testsupport::StoredBytes([&](CArchive& ar) { column.Serialize(ar); });
    CMemFile file;
    file.Write(stored.data(), (UINT)stored.size());
    file.SeekToBegin();
    CArchive ar(&file, CArchive::load);
    CExtReportGridColumn back;
    back.Serialize(ar);
    EXPECT_STREQ("Size", back.ColumnNameGet());
    EXPECT_STREQ("File", back.CategoryNameGet());
    EXPECT_FALSE(back.SortAscendingGet());
}

// Every cell class clones as itself without an allocator, so that InstanceLoad without
// one reads the cell's own fields: what follows the cell in the archive comes next.
TEST(ReportGridCellFamily, CloneAndReadBackAsItself)
{
    for (CRuntimeClass* pClass = CRuntimeClass::GetFirstClass(); pClass != NULL; pClass = pClass->m_pNextClass)
    {
        if (!pClass->IsDerivedFrom(RUNTIME_CLASS(CExtGridCell)))
            continue;
        SCOPED_TRACE(pClass->m_lpszClassName);
        std::unique_ptr<CExtGridCell> pCell(static_cast<CExtGridCell*>(pClass->CreateObject()));
        EXPECT_EQ(pClass, std::unique_ptr<CExtGridCell>(pCell->Clone(NULL))->GetRuntimeClass());
        const std::vector<BYTE> stored = testsupport::StoredBytes([&](CArchive& ar) {
            CExtGridCell::InstanceSave(ar, pCell.get());
            ar << (DWORD)7;
        });
        CMemFile file(const_cast<BYTE*>(stored.data()), (UINT)stored.size());
        CArchive ar(&file, CArchive::load);
        std::unique_ptr<CExtGridCell> pBack(CExtGridCell::InstanceLoad(ar, NULL, true));
        DWORD dwNext = 0;
        ar >> dwNext;
        EXPECT_EQ(7u, dwNext);
    }
}
