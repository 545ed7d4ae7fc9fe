// The report grid's data provider called from outside the grid's own paths: a call that
// refuses changes nothing (reservation, flat rows and columns, the columns' parts and
// flags, the tree), and one that moves a column between the shown and the hidden part
// moves its active flag with it (several columns move together, in their order, to the
// place asked); either way the grid then removes items, activates columns and rebuilds
// as before. Freed items are poisoned, and the heap is checked
// after every step.
#include <gtest/gtest.h>
#include "framework/framework.h"
#include "support/child_run.h"
#include "report_grid_fixture.h"

#include <functional>
#include <set>
#include <string>

namespace {

std::set<const void*>& FreedItems()
{
    static std::set<const void*> s_freed;
    return s_freed;
}

class PoisonedItem : public CExtReportGridItem
{
    DECLARE_SERIAL(PoisonedItem)
public:
    explicit PoisonedItem(CExtGridDataProvider* pOwner = NULL) : CExtReportGridItem(pOwner)
    {
        FreedItems().erase(this);
    }
    ~PoisonedItem() override
    {
        FreedItems().insert(this);
        m_pNodeParent = m_pNodeNext = m_pNodePrev = reinterpret_cast<CExtTreeGridCellNode*>(0xFEEEFEEE);
        m_nContentWeightAll = m_nContentWeightExpanded = m_nOptIndex = 0xFEEEFEEE;
    }
    CExtGridCell* Clone(IMalloc* pMalloc = NULL) const override
    {
        return ExtGridCellCloneAs<PoisonedItem>(*this, pMalloc);
    }
};
IMPLEMENT_SERIAL(PoisonedItem, CExtReportGridItem, VERSIONABLE_SCHEMA | 1)

struct PoisonedReportWnd : CExtReportGridWnd
{
    CExtGridDataProvider* GetDataProvider() override
    {
        if (m_pDataProvider == NULL)
        {
            struct Provider : CExtReportGridDataProvider
            {
                Provider() { m_pNodeRTC = RUNTIME_CLASS(PoisonedItem); }
            };
            m_pReportDP = new Provider;
            m_pDataProvider = m_pReportDP;
        }
        return m_pDataProvider;
    }
};

// Name and Size shown, Date hidden and grouped by, four items sorted by Size.
struct Scene
{
    HWND m_hParent = ::CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 500, 300, NULL, NULL, NULL, NULL);
    PoisonedReportWnd m_grid;
    CExtReportGridColumn *m_pName = NULL, *m_pSize = NULL, *m_pDate = NULL;
    CTypedPtrArray<CPtrArray, CExtReportGridItem*> m_items;
    Scene()
    {
        EXPECT_TRUE(m_grid.Create(CWnd::FromHandle(m_hParent), CRect(0, 0, 500, 300), 1, 0, WS_CHILD));
        m_pName = m_grid.ColumnRegister("Name", "", true, false);
        m_pSize = m_grid.ColumnRegister("Size", "", true, false);
        m_pDate = m_grid.ColumnRegister("Date", "", false, false);
        m_items.SetSize(4);
        EXPECT_TRUE(m_grid.ItemsRegister(m_items, false, false));
        const char* const texts[4][3] = {{"a", "3", "d1"}, {"b", "1", "d2"}, {"c", "2", "d1"}, {"d", "0", "d2"}};
        for (int i = 0; i < 4; i++)
            for (int c = 0; c < 3; c++)
                m_grid.ItemCellGet(Columns()[c], m_items[i], RUNTIME_CLASS(CExtGridCellString))->TextSet(texts[i][c]);
        CExtReportGridSortOrder order;
        order.ItemInsert(m_pDate);
        order.ItemInsert(m_pSize);
        order.SetGroupCount(1);
        EXPECT_TRUE(m_grid.SortOrderSet(order, false, false));
    }
    ~Scene()
    {
        m_grid.DestroyWindow();
        ::DestroyWindow(m_hParent);
    }
    std::vector<CExtReportGridColumn*> Columns() { return {m_pName, m_pSize, m_pDate}; }
    CExtReportGridDataProvider& Provider() { return m_grid.GetReportDataProvider(); }
    // Everything a refused call must leave as it was, in words.
    std::string State()
    {
        CExtReportGridDataProvider& dp = Provider();
        CExtGridDataProviderMemory& flat = dp.GetFlatProvider();
        ULONG nCols = 0, nRows = 0, nFlatCols = 0, nFlatRows = 0;
        dp.OuterCellsReservedGet(&nCols, &nRows);
        flat.OuterCellsReservedGet(&nFlatCols, &nFlatRows);
        std::string s = "reserved " + std::to_string(nCols) + "x" + std::to_string(nRows) + ", flat " +
                        std::to_string(nFlatCols) + "x" + std::to_string(nFlatRows) + " of " +
                        std::to_string(flat.ColumnCountGet()) + "x" + std::to_string(flat.RowCountGet()) + "; shown";
        for (int i = 0; i < dp.ActiveColumnCountGet(); i++)
            s += std::string(" ") + dp.ActiveColumnGet(i)->ColumnNameGet();
        s += "; hidden";
        for (int i = 0; i < dp.InactiveColumnCountGet(); i++)
            s += std::string(" ") + dp.InactiveColumnGet(i)->ColumnNameGet();
        s += "; active";
        for (CExtReportGridColumn* pColumn : Columns())
            s += pColumn->IsActive() ? std::string(" ") + pColumn->ColumnNameGet() : "";
        return s + "; rows " + Rows();
    }
    // The shown columns and then the hidden ones, in order ("Name Size / Date"); a column
    // whose active flag names the other part is marked '!'.
    std::string Parts()
    {
        CExtReportGridDataProvider& dp = Provider();
        std::string s;
        for (int i = 0; i < dp.ActiveColumnCountGet(); i++)
            s += std::string(i ? " " : "") + dp.ActiveColumnGet(i)->ColumnNameGet() +
                 (dp.ActiveColumnGet(i)->IsActive() ? "" : "!");
        s += " /";
        for (int i = 0; i < dp.InactiveColumnCountGet(); i++)
            s += std::string(" ") + dp.InactiveColumnGet(i)->ColumnNameGet() +
                 (dp.InactiveColumnGet(i)->IsActive() ? "!" : "");
        return s;
    }
    // The shown rows: a group row as <its leaf's Date>, a data row as its Name.
    std::string Rows()
    {
        std::string s;
        for (LONG r = 0; r < m_grid.GetRowCount(); r++)
        {
            CExtReportGridItem* pItem = m_grid.ItemFromNode(m_grid.ItemGetByVisibleRow(r));
            if (pItem == NULL || FreedItems().count(pItem) != 0)
                return s + "?";
            CExtTreeGridCellNode* pLeaf = pItem;
            while (pLeaf->TreeNodeGetChildCount() > 0)
                pLeaf = pLeaf->TreeNodeGetChildAt(0);
            CString str;
            CExtReportGridItem* pData = DYNAMIC_DOWNCAST(CExtReportGridItem, pLeaf);
            if (CExtGridCell* pCell = m_grid.ItemCellGet(pItem->IsGroupRow() ? m_pDate : m_pName, pData))
                pCell->TextGet(str);
            s += pItem->IsGroupRow() ? "<" + std::string(str) + ">" : std::string(str);
        }
        return s;
    }
    // Each column lies in the part its flag names, the grid moves it to the other part
    // and back, an item goes and the rest regroup.
    void CheckTheGridGoesOn(const char* sRowsAfterRemoval)
    {
        ASSERT_TRUE(::HeapValidate(::GetProcessHeap(), 0, NULL));
        ASSERT_NO_FATAL_FAILURE(CheckColumnsInTheirParts(m_grid));
        ASSERT_TRUE(m_grid.ItemUnregister(m_items[2], true, false));
        ASSERT_TRUE(::HeapValidate(::GetProcessHeap(), 0, NULL));
        EXPECT_EQ(sRowsAfterRemoval, Rows());
        ASSERT_TRUE(m_grid.RebuildItems(false));
        EXPECT_EQ(sRowsAfterRemoval, Rows());
        ASSERT_TRUE(::HeapValidate(::GetProcessHeap(), 0, NULL));
    }
};

struct CallCase
{
    const char* name;
    std::function<bool(CExtReportGridDataProvider&)> call;
    bool bAnswer;
    const char* sPartsAfter;         // NULL: a refusal, which changes nothing
    void (*prepare)(Scene&) = NULL;  // before the call
};

void AddKindAndPath(Scene& s)
{
    ASSERT_NE(nullptr, s.m_grid.ColumnRegister("Kind", "", false, false));
    ASSERT_NE(nullptr, s.m_grid.ColumnRegister("Path", "", false, false));
}

// Name shown and Kind the last hidden column, both let go by the grid: the store keeps
// neither in its band any more.
void LetNameAndKindGo(Scene& s)
{
    ASSERT_NE(nullptr, s.m_grid.ColumnRegister("Kind", "", false, false));
    ASSERT_EQ(1, s.m_grid.ColumnUnregisterAll("Kind", "", false));
    ASSERT_TRUE(s.m_grid.ColumnUnregister(s.m_pName, false));
}

const CallCase g_cases[] = {
    // The reservation alone is noted: the flat store's follows only rows and columns put
    // in or taken out, and the first of these takes the registered columns' header row.
    {"a second header row reserved, never put in",
     [](CExtReportGridDataProvider& dp) { return dp.OuterCellsReserve(0, 2); }, false, NULL},
    {"a second header row reserved, put in above the header row",
     [](CExtReportGridDataProvider& dp) { return dp.OuterCellsReserve(0, 2) || dp.RowInsert(0, 1); }, false, NULL},
    {"no header row reserved", [](CExtReportGridDataProvider& dp) { return dp.OuterCellsReserve(0, 0); }, false, NULL},
    {"an outer column reserved over Name, never put in",
     [](CExtReportGridDataProvider& dp) { return dp.OuterCellsReserve(1, 1); }, false, NULL},
    {"columns moved to the hidden part past the shown ones or onto the node column",
     [](CExtReportGridDataProvider& dp) { return dp.ColumnsMoveToOuter(1, 2, 1) || dp.ColumnsMoveToOuter(0, 1, 0); },
     false, NULL},
    {"the node column or more than are hidden moved to the shown part",
     [](CExtReportGridDataProvider& dp) { return dp.ColumnsMoveToInner(0, 1, 0) || dp.ColumnsMoveToInner(1, 2, 0); },
     false, NULL},
    {"activation or deactivation out of range",
     [](CExtReportGridDataProvider& dp) {
         return dp.ColumnActivate(1, 0) || dp.ColumnActivate(0, 3) || dp.ColumnDeactivate(2, -1) ||
                dp.ColumnDeactivate(0, 2);
     },
     false, NULL},
    {"a move from beyond the shown columns, or of rows",
     [](CExtReportGridDataProvider& dp) {
         return dp.MoveColumnOrRow(true, ULONG(-1), 1) || dp.MoveColumnOrRow(true, ULONG(-2), 1) ||
                dp.MoveColumnOrRow(true, 0, 3) || dp.MoveColumnOrRow(false, 0, 1);
     },
     false, NULL},
    {"a move to a place past the shown columns that wraps round onto the hidden ones",
     [](CExtReportGridDataProvider& dp) { return dp.MoveColumnOrRow(true, 0, ULONG(-1)); }, false, NULL,
     LetNameAndKindGo},
    // Moves between the parts that are allowed: the flag follows the column.
    {"Size deactivated", [](CExtReportGridDataProvider& dp) { return dp.ColumnDeactivate(1, -1); }, true,
     "Name / Date Size"},
    {"Name and Size moved to the hidden part",
     [](CExtReportGridDataProvider& dp) { return dp.ColumnsMoveToOuter(0, 2, 1); }, true, " / Name Size Date"},
    {"Date activated first", [](CExtReportGridDataProvider& dp) { return dp.ColumnActivate(0, 0); }, true,
     "Date Name Size /"},
    {"Date moved to the shown part last", [](CExtReportGridDataProvider& dp) { return dp.ColumnsMoveToInner(1, 1, 2); },
     true, "Name Size Date /"},
    {"Size moved before Name", [](CExtReportGridDataProvider& dp) { return dp.MoveColumnOrRow(true, 1, 0); }, true,
     "Size Name / Date"},
    {"Name moved to the end, after the last shown column",
     [](CExtReportGridDataProvider& dp) { return dp.MoveColumnOrRow(true, 0, 2); }, true, "Size Name / Date"},
    // Several columns move together, in their order, to the place asked.
    {"Name and Size hidden between Date and Kind",
     [](CExtReportGridDataProvider& dp) { return dp.ColumnsMoveToOuter(0, 2, 2); }, true, " / Date Name Size Kind Path",
     AddKindAndPath},
    {"Kind and Path shown first", [](CExtReportGridDataProvider& dp) { return dp.ColumnsMoveToInner(2, 2, 0); }, true,
     "Kind Path Name Size / Date", AddKindAndPath},
    {"Kind and Path shown between Name and Size",
     [](CExtReportGridDataProvider& dp) { return dp.ColumnsMoveToInner(2, 2, 1); }, true, "Name Kind Path Size / Date",
     AddKindAndPath},
    {"Kind and Path shown last", [](CExtReportGridDataProvider& dp) { return dp.ColumnsMoveToInner(2, 2, 2); }, true,
     "Name Size Kind Path / Date", AddKindAndPath},
    {"Date and Kind shown between Name and Size",
     [](CExtReportGridDataProvider& dp) { return dp.ColumnsMoveToInner(1, 2, 1); }, true, "Name Date Kind Size / Path",
     AddKindAndPath},
    {"Date, Kind and Path shown first", [](CExtReportGridDataProvider& dp) { return dp.ColumnsMoveToInner(1, 3, 0); },
     true, "Date Kind Path Name Size /", AddKindAndPath},
    {"Date, Kind and Path shown between Name and Size",
     [](CExtReportGridDataProvider& dp) { return dp.ColumnsMoveToInner(1, 3, 1); }, true, "Name Date Kind Path Size /",
     AddKindAndPath},
    {"Date, Kind and Path shown last", [](CExtReportGridDataProvider& dp) { return dp.ColumnsMoveToInner(1, 3, 2); },
     true, "Name Size Date Kind Path /", AddKindAndPath},
};

}  // namespace

TEST(ReportGridProviderCalls, ARefusedCallChangesNothingAndAMoveCarriesTheActiveFlag)
{
    testsupport::RunCasesBounded(
        "ReportGridProviderCalls.ARefusedCallChangesNothingAndAMoveCarriesTheActiveFlag",
        sizeof(g_cases) / sizeof(g_cases[0]),
        [](size_t i) {
            const CallCase& c = g_cases[i];
            SCOPED_TRACE(c.name);
            Scene scene;
            if (c.prepare != NULL)
            {
                ASSERT_NO_FATAL_FAILURE(c.prepare(scene));
            }
            const std::string sBefore = scene.State();
            ASSERT_EQ("<d1>ca<d2>db", scene.Rows());
            EXPECT_EQ(c.bAnswer, c.call(scene.Provider()));
            if (c.sPartsAfter == NULL)
                EXPECT_EQ(sBefore, scene.State());
            else
                EXPECT_EQ(c.sPartsAfter, scene.Parts());
            ASSERT_NO_FATAL_FAILURE(scene.CheckTheGridGoesOn("<d1>a<d2>db"));
        },
        [](size_t i) { return std::string(g_cases[i].name); }, 20000);
}
