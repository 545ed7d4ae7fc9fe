// The tree grid's flat provider reached from outside the tree (GetFlatProvider): the
// node column and the rows stay where the tree finds them, whatever is asked of the
// store and in whatever order, and freed nodes are poisoned so that a walk through one
// faults at once. Columns go between the bands (the grid's outer columns, the tree's
// own) in the same orders: each keeps its cells, and the reservation covers exactly the
// tree's own columns and the grid's outer ones.
#include <gtest/gtest.h>
#include "framework/framework.h"
#include "support/child_run.h"
#include "support/dib_canvas.h"
#include "toolkit/grid/grid_cell_string.h"
#include "toolkit/grid/tree_grid_wnd.h"

#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

std::set<const void*>& FreedNodes()
{
    static std::set<const void*> s_freed;
    return s_freed;
}

class PoisonedNode : public CExtTreeGridCellNode
{
    DECLARE_DYNCREATE(PoisonedNode)
public:
    explicit PoisonedNode(CExtGridDataProvider* pOwner = NULL) : CExtTreeGridCellNode(pOwner)
    {
        FreedNodes().erase(this);
    }
    ~PoisonedNode() override
    {
        FreedNodes().insert(this);
        m_pNodeParent = m_pNodeNext = m_pNodePrev = reinterpret_cast<CExtTreeGridCellNode*>(0xFEEEFEEE);
        m_nContentWeightAll = m_nContentWeightExpanded = m_nOptIndex = 0xFEEEFEEE;
    }
    CExtGridCell* Clone(IMalloc* pMalloc = NULL) const override
    {
        return ExtGridCellCloneAs<PoisonedNode>(*this, pMalloc);
    }
};
IMPLEMENT_DYNCREATE(PoisonedNode, CExtTreeGridCellNode)

struct PoisonedTreeProvider : CExtTreeGridDataProvider
{
    CRuntimeClass* NodeClassGet() override { return RUNTIME_CLASS(PoisonedNode); }
};

struct PoisonedTreeWnd : CExtTreeGridWnd
{
    CExtGridDataProvider* GetDataProvider() override
    {
        if (m_pDataProvider == NULL)
            m_pDataProvider = new PoisonedTreeProvider;
        return m_pDataProvider;
    }
};

struct FlatScene
{
    HWND m_hParent = ::CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 400, 300, NULL, NULL, NULL, NULL);
    PoisonedTreeWnd m_grid;
    std::map<const void*, std::string> m_labels;  // every live item, by its own text
    std::vector<std::string> m_cols;              // every flat column, by the text of its root-row cell
    int m_nNext = 0;
    FlatScene()
    {
        EXPECT_TRUE(m_grid.Create(CWnd::FromHandle(m_hParent), CRect(0, 0, 400, 300), 1, 0xA, WS_CHILD));
        m_grid.InsertColumns(0, 4, false);
        m_cols.assign(1, "node");
        for (ULONG c = 1; c < Flat().ColumnCountGet(); c++)
            LabelColumn(c);
        Label(m_grid.ItemInsert(NULL, ULONG(-1), 3, false), 3);
    }
    ~FlatScene()
    {
        m_grid.DestroyWindow();
        ::DestroyWindow(m_hParent);
    }
    CExtGridDataProviderMemory& Flat() { return m_grid.GetTreeProvider()->GetFlatProvider(); }
    CExtTreeGridDataProvider& Tree() { return *m_grid.GetTreeProvider(); }
    void LabelColumn(ULONG c)
    {
        m_cols.insert(m_cols.begin() + c, "col" + std::to_string(m_nNext++));
        Flat().CellGet(c, 0, RUNTIME_CLASS(CExtGridCellString))->TextSet(m_cols[c].c_str());
    }
    // The labels of nCount flat columns from nFrom go to nTo, counted once they are out.
    void MoveLabels(ULONG nFrom, ULONG nCount, ULONG nTo)
    {
        std::vector<std::string> run(m_cols.begin() + nFrom, m_cols.begin() + nFrom + nCount);
        m_cols.erase(m_cols.begin() + nFrom, m_cols.begin() + nFrom + nCount);
        m_cols.insert(m_cols.begin() + nTo, run.begin(), run.end());
    }
    std::string Columns(const std::vector<std::string>& cols)
    {
        std::string s;
        for (const std::string& c : cols)
            s += c + " ";
        return s;
    }
    bool Label(HTREEITEM h, int nCount)
    {
        int i = 0;
        for (; i < nCount && h != NULL; i++, h = m_grid.ItemGetNext(h, true, false, false))
        {
            const std::string s = "item" + std::to_string(m_nNext++);
            m_grid.ItemGetCell(h, 0, 0, RUNTIME_CLASS(CExtGridCellString))->TextSet(s.c_str());
            m_labels[CExtTreeGridWnd::NodeOf(h)] = s;
        }
        return i == nCount;
    }
    // The node of every flat row below the reserved ones is the tree's node of that
    // place, alive, and reads its own text; the root is flat cell (0, 0).
    void CheckInvariant()
    {
        ASSERT_TRUE(::HeapValidate(::GetProcessHeap(), 0, NULL));
        CExtGridDataProviderMemory& flat = Flat();
        CExtTreeGridCellNode* pRoot = CExtTreeGridWnd::NodeOf(m_grid.ItemGetRoot());
        ASSERT_EQ(pRoot, flat.CellGet(0, 0, NULL, false, false));
        ULONG nRows = 0, nNodes = 0;
        flat.OuterCellsReservedGet(NULL, &nRows);
        std::vector<CExtTreeGridCellNode*> stack(1, pRoot);  // children pushed last first: tree order
        while (!stack.empty())
        {
            CExtTreeGridCellNode* pNode = stack.back();
            stack.pop_back();
            for (ULONG i = pNode->TreeNodeGetChildCount(); i > 0; i--)
                stack.push_back(pNode->TreeNodeGetChildAt(i - 1));
            if (pNode == pRoot)
                continue;
            ASSERT_EQ(0u, FreedNodes().count(pNode)) << "a freed node is still in the tree";
            ASSERT_LT(nNodes, (ULONG)m_labels.size()) << "more nodes than were made";
            ASSERT_EQ(pNode, flat.CellGet(0, nRows + nNodes++, NULL, false, false));
            CString s;
            m_grid.ItemGetCell(CExtTreeGridWnd::ItemOf(pNode), 0, 0)->TextGet(s);
            EXPECT_EQ(m_labels[pNode], (LPCTSTR)s);
        }
        EXPECT_EQ(m_labels.size(), nNodes);
        EXPECT_EQ(nRows + nNodes, flat.RowCountGet());
        // Each column with its cells, in its band.
        std::vector<std::string> cols(1, "node");
        for (ULONG c = 1; c < flat.ColumnCountGet(); c++)
        {
            CString s;
            if (CExtGridCell* pCell = flat.CellGet(c, 0, NULL, false, false))
                pCell->TextGet(s);
            cols.push_back((LPCTSTR)s);
        }
        EXPECT_EQ(Columns(m_cols), Columns(cols));
        ULONG nFlatCols = 0, nGridCols = 0;
        flat.OuterCellsReservedGet(&nFlatCols, NULL);
        Tree().OuterCellsReservedGet(&nGridCols, NULL);
        EXPECT_EQ(ULONG(m_grid.GetLeftOuterColumnCount() + m_grid.GetRightOuterColumnCount()), nGridCols);
        EXPECT_EQ(Tree().OuterColumnCountGet() + nGridCols, nFlatCols);
    }
    // Upper case: a change asked of the flat store that would free or move a node or a
    // row, or a column move out of bounds (refused); lower case: the tree's own changes,
    // which move node rows or columns between the bands (done).
    bool Step(char c)
    {
        CExtGridDataProviderMemory& flat = Flat();
        const ULONG nLast = flat.RowCountGet() - 1;
        ULONG nCols = 0, nRows = 0, nSwaps = 0;
        flat.OuterCellsReservedGet(&nCols, &nRows);
        HTREEITEM hFirst = m_grid.ItemGetChildAt(m_grid.ItemGetRoot(), 0);
        switch (c)
        {
        case 'C':
            return flat.ColumnRemove(0, 1) || flat.ColumnInsert(0, 1);
        case 'R':
            return flat.RowInsert(0, 1) || flat.RowInsert(nLast + 1, 1);
        case 'D':
            return flat.RowRemove(nLast, 1) || flat.RowRemove(0, 1);
        case 'M':
            // The node column moved or swapped away, or another column onto its place.
            return flat.MoveColumnOrRow(false, nLast, 0) || flat.MoveColumnOrRow(true, 0, 2) ||
                   flat.MoveColumnOrRow(true, 2, 0) || flat.SwapSeries(nLast, 0, nSwaps, NULL, false) ||
                   flat.SwapSeries(0, 1, nSwaps, NULL, true) || flat.SwapSeries(2, 0, nSwaps, NULL, true);
        case 'S':
        {
            CExtGridDataSortOrder order;
            CExtGridDataSortOrder::ITEM_INFO key(nCols, false);
            order.m_arrItems.Add(key);
            return flat.SortOrderSet(order, false);
        }
        case 'O':
        {
            flat.OuterCellsReserve(nCols, nRows + 1);
            flat.OuterCellsReserve(0, nRows);
            ULONG nColsNow = 0, nRowsNow = 0;
            flat.OuterCellsReservedGet(&nColsNow, &nRowsNow);
            return nColsNow != nCols || nRowsNow != nRows;
        }
        case 'X':
        {
            CExtGridCellString cell(&flat);
            return flat.CellRangeSet(0, 0, 1, nLast + 1) || flat.CellRangeSet(0, 0, 1, 1) ||
                   flat.CellRangeSet(0, nLast, 1, 1, &cell, true);
        }
        case 'n':
            return Label(m_grid.ItemInsert(NULL, 0, 2, false), 2);
        case 'k':
            return Label(m_grid.ItemInsert(hFirst, ULONG(-1), 1, false), 1) && m_grid.ItemExpand(hFirst, 3, false);
        case 'x':
            m_labels.erase(CExtTreeGridWnd::NodeOf(hFirst));
            for (LONG i = 0; i < m_grid.ItemGetChildCount(hFirst); i++)
                m_labels.erase(CExtTreeGridWnd::NodeOf(m_grid.ItemGetChildAt(hFirst, i)));
            return m_grid.ItemRemove(hFirst, false, false) > 0;
        case 'o':
            return m_grid.SetTopOuterRowCount(m_grid.GetTopOuterRowCount() == 0 ? 2 : 0, false) >= 0;
        case 'l':  // an outer column put in at the end of the left band, or of all the outer ones
        case 'r':
        {
            const int nL = m_grid.GetLeftOuterColumnCount(), nR = m_grid.GetRightOuterColumnCount();
            const ULONG nAt = Tree().OuterColumnCountGet() + nL + (c == 'r' ? nR : 0);
            if ((c == 'l' ? m_grid.SetLeftOuterColumnCount(nL + 1, false)
                          : m_grid.SetRightOuterColumnCount(nR + 1, false)) < 0)
                return false;
            LabelColumn(nAt);
            return true;
        }
        case 'e':  // the last outer column taken out
        {
            const int nL = m_grid.GetLeftOuterColumnCount(), nR = m_grid.GetRightOuterColumnCount();
            if (nL + nR == 0 || (nR > 0 ? m_grid.SetRightOuterColumnCount(nR - 1, false)
                                        : m_grid.SetLeftOuterColumnCount(nL - 1, false)) < 0)
                return false;
            m_cols.erase(m_cols.begin() + Tree().OuterColumnCountGet() + nL + nR - 1);
            return true;
        }
        case 'g':  // inner columns 1 and 2 to the tree's own band, first after the node column
            if (!Tree().ColumnsMoveToOuter(1, 2, 1))
                return false;
            MoveLabels(nCols + 1, 2, 1);
            return true;
        case 'h':  // the two own columns after the node column back, after the last inner one
        case 'j':  // ... or after inner column 0
        {
            const ULONG nTo = c == 'h' ? flat.ColumnCountGet() - nCols : 1;
            if (!Tree().ColumnsMoveToInner(1, 2, nTo))
                return false;
            MoveLabels(1, 2, nCols - 2 + nTo);
            return true;
        }
        case 'V':
        {
            CExtTreeGridDataProvider& tree = Tree();
            const ULONG nOwn = tree.OuterColumnCountGet(), nInner = flat.ColumnCountGet() - nCols;
            if (tree.ColumnsMoveToOuter(0, 1, 0) || tree.ColumnsMoveToOuter(0, 1, nOwn + 1) ||
                tree.ColumnsMoveToOuter(0, nInner + 1, 1) || tree.ColumnsMoveToOuter(nInner, 1, 1) ||
                tree.ColumnsMoveToInner(0, 1, 0) || tree.ColumnsMoveToInner(1, nOwn, 0) ||
                tree.ColumnsMoveToInner(1, 1, nInner + 1))
                return true;
            // A reservation past the last column, which the store takes from anyone: the
            // moves must not count the columns from it, where a place past the end wraps
            // round onto the node column.
            const ULONG nOver = flat.ColumnCountGet() + 2;
            flat.OuterCellsReserve(nOver, nRows);
            const bool bMoved = tree.ColumnsMoveToOuter(0u - nOver, 1, 2) || tree.ColumnsMoveToInner(1, 1, 0u - nOver);
            flat.OuterCellsReserve(nCols, nRows);
            return bMoved;
        }
        case 'p':
        {
            testsupport::DibCanvas canvas(400, 300);
            CDC dc;
            dc.Attach(canvas.Dc());
            m_grid.OnPaintContent(dc);
            dc.Detach();
            return true;
        }
        }
        return false;
    }
};

const char* const g_orders[] = {"CkpRpDxp", "RpDpnp",   "oXMpSOkp",  "nCRDMSOXp", "kxCnopDp",
                                "MopRxnSp", "rlpVgVjp", "gkhprelep", "lrgxVehnp", "gjVlrepSOgVhp"};

}  // namespace

TEST(TreeGridFlatProvider, ChangesThatWouldMoveOrFreeNodesAreRefusedInAnyOrder)
{
    testsupport::RunCasesBounded(
        "TreeGridFlatProvider.ChangesThatWouldMoveOrFreeNodesAreRefusedInAnyOrder",
        sizeof(g_orders) / sizeof(g_orders[0]),
        [](size_t i) {
            SCOPED_TRACE(g_orders[i]);
            FlatScene scene;
            ASSERT_NO_FATAL_FAILURE(scene.CheckInvariant());
            for (const char* p = g_orders[i]; *p != 0; p++)
            {
                SCOPED_TRACE(std::string(1, *p));
                EXPECT_EQ(*p >= 'a', scene.Step(*p));
                ASSERT_NO_FATAL_FAILURE(scene.CheckInvariant());
            }
        },
        [](size_t i) { return std::string(g_orders[i]); }, 20000);
}
