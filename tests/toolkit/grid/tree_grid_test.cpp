// The tree grid: rows that follow expanding and collapsing, offsets in the whole and in
// the shown tree, cells that stay with their items, the two ways of reaching a cell that
// must agree while outer columns exist, and expanding by keys and by the outline button.
#include <gtest/gtest.h>
#include "framework/framework.h"
#include "toolkit/grid/grid_cell_string.h"
#include "toolkit/grid/tree_grid_wnd.h"

namespace {

struct TreeGridTest : testing::Test
{
    HWND m_hParent = NULL;
    CExtTreeGridWnd m_grid;
    void SetUp() override
    {
        m_hParent = ::CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 400, 300, NULL, NULL, NULL, NULL);
        ASSERT_TRUE(m_grid.Create(CWnd::FromHandle(m_hParent), CRect(0, 0, 400, 300), 1, 0xA | 0x2000, WS_CHILD));
    }
    void TearDown() override
    {
        m_grid.DestroyWindow();
        ::DestroyWindow(m_hParent);
    }
    CExtTreeGridCellNode* Node(HTREEITEM h) { return CExtTreeGridWnd::NodeOf(h); }
    CString Text(CExtGridCell* pCell)
    {
        CString s;
        if (pCell != NULL)
            pCell->TextGet(s);
        return s;
    }
};

}  // namespace

TEST_F(TreeGridTest, RowsFollowInsertExpandCollapseAndRemove)
{
    HTREEITEM hRoot = m_grid.ItemGetRoot();
    ASSERT_NE(nullptr, hRoot);
    EXPECT_TRUE(Node(hRoot)->TreeNodeIsExpanded());
    EXPECT_EQ(0, m_grid.GetRowCount());
    HTREEITEM hA = m_grid.ItemInsert(NULL, ULONG(-1), 3, false);
    HTREEITEM hB = m_grid.ItemGetChildAt(hRoot, 1);
    HTREEITEM hKids = m_grid.ItemInsert(hA, ULONG(-1), 2, false);
    HTREEITEM hGrand = m_grid.ItemInsert(hKids, ULONG(-1), 2, false);
    ASSERT_NE(nullptr, hGrand);
    struct Step
    {
        const char* name;
        std::function<void()> act;
        int nRows;
        ULONG nOffsetB, nShownOffsetB;
        INT nButtonA;
    } steps[] = {
        {"children under a collapsed item show nothing", [] {}, 3, 5, 1, 2},
        {"expanding the item shows its children", [&] { m_grid.ItemExpand(hA, 2, false); }, 5, 5, 3, 1},
        {"expanding a child shows the grandchildren", [&] { m_grid.ItemExpand(hKids, 3, false); }, 7, 5, 5, 1},
        {"collapsing the item hides the whole subtree", [&] { m_grid.ItemExpand(hA, 1, false); }, 3, 5, 1, 2},
        {"expanding again brings the expanded child back", [&] { m_grid.ItemExpand(hA, 2, false); }, 7, 5, 5, 1},
        {"removing the children only", [&] { m_grid.ItemRemove(hA, true, false); }, 3, 1, 1, 0},
    };
    for (const Step& s : steps)
    {
        SCOPED_TRACE(s.name);
        s.act();
        EXPECT_EQ(s.nRows, m_grid.GetRowCount());
        EXPECT_EQ(s.nOffsetB, Node(hB)->TreeNodeCalcOffset(false));
        EXPECT_EQ(s.nShownOffsetB, Node(hB)->TreeNodeCalcOffset(true));
        EXPECT_EQ(s.nButtonA, m_grid.ItemGetButtonState(hA));
        EXPECT_EQ(s.nShownOffsetB, (ULONG)m_grid.ItemGetVisibleRow(hB));
        EXPECT_EQ(hB, m_grid.ItemGetByVisibleRow((LONG)s.nShownOffsetB));
    }
    // The last child of an expanded item goes: the item is collapsed, without a button.
    HTREEITEM hOnly = m_grid.ItemInsert(hB, ULONG(-1), 1, false);
    m_grid.ItemExpand(hB, 2, false);
    EXPECT_EQ(4, m_grid.GetRowCount());
    m_grid.ItemRemove(hOnly, false, false);
    EXPECT_FALSE(Node(hB)->TreeNodeIsExpanded());
    EXPECT_EQ(0, m_grid.ItemGetButtonState(hB));
    EXPECT_EQ(3, m_grid.GetRowCount());
    EXPECT_THROW(m_grid.ItemGetChildAt(hRoot, 3), CInvalidArgException*);
    // Sorting rows through the provider would part them from their nodes: refused.
    CExtGridDataProvider* pDP = m_grid.GetDataProvider();
    CExtGridDataSortOrder order;
    CExtGridDataSortOrder::ITEM_INFO key(0, false);
    order.m_arrItems.Add(key);
    EXPECT_FALSE(pDP->SortOrderSet(order, false));
    EXPECT_FALSE(pDP->SortApply(false));
    EXPECT_EQ(hB, m_grid.ItemGetByVisibleRow(1));
}

TEST_F(TreeGridTest, ItemCellsAndGridCellsAgreeWithOuterColumns)
{
    m_grid.SetLeftOuterColumnCount(1, false);
    m_grid.SetRightOuterColumnCount(2, false);
    m_grid.SetTopOuterRowCount(1, false);
    m_grid.InsertColumns(0, 3, false);
    HTREEITEM hA = m_grid.ItemInsert(NULL, ULONG(-1), 2, false);
    HTREEITEM hB = m_grid.ItemGetNext(hA, true, false, false);
    m_grid.ItemInsert(hA, ULONG(-1), 2, false);
    m_grid.ItemExpand(hA, 2, false);
    ASSERT_EQ(4, m_grid.GetRowCount());
    ASSERT_EQ(3, (int)m_grid.ItemGetVisibleRow(hB));
    const struct
    {
        INT nType;
        LONG nCol;
    } columns[] = {{-1, 0}, {1, 0}, {1, 1}, {0, 0}, {0, 2}};
    for (const auto& c : columns)
    {
        SCOPED_TRACE(testing::Message() << "type " << c.nType << " column " << c.nCol);
        CExtGridCell* pByItem = m_grid.ItemGetCell(hB, c.nCol, c.nType, RUNTIME_CLASS(CExtGridCellString));
        ASSERT_NE(nullptr, pByItem);
        EXPECT_EQ(pByItem, m_grid.GridCellGet(c.nCol, 3, c.nType, 0));
        pByItem->TextSet(CString("B") + (char)('0' + c.nCol) + (char)('a' + c.nType + 1));
    }
    EXPECT_EQ(nullptr, m_grid.ItemGetCell(hB, 3, 0));
    EXPECT_EQ(nullptr, m_grid.ItemGetCell(hB, 1, -1));
    EXPECT_EQ(nullptr, m_grid.ItemGetCell(m_grid.ItemGetRoot(), 0, 0));
    // New rows before the item and a collapse leave the item's cells with the item.
    m_grid.ItemInsert(NULL, 0, 2, false);
    m_grid.ItemExpand(hA, 1, false);
    EXPECT_EQ(4, m_grid.GetRowCount());
    const LONG nRowB = m_grid.ItemGetVisibleRow(hB);
    EXPECT_EQ(3, nRowB);
    for (const auto& c : columns)
    {
        SCOPED_TRACE(testing::Message() << "type " << c.nType << " column " << c.nCol);
        const CString sExpected = CString("B") + (char)('0' + c.nCol) + (char)('a' + c.nType + 1);
        EXPECT_EQ(sExpected, Text(m_grid.ItemGetCell(hB, c.nCol, c.nType)));
        EXPECT_EQ(sExpected, Text(m_grid.GridCellGet(c.nCol, nRowB, c.nType, 0)));
    }
}

// Outer rows come and go through the provider only as the grid reserves them: a row put
// in or taken out without a reservation would shift the node rows, and each item would
// read another's cells. After every step each item still reads its own text, by item and
// by grid row, under the top outer rows the grid counts.
TEST_F(TreeGridTest, OuterRowsChangedThroughTheProviderLeaveTheItemsTheirCells)
{
    m_grid.SetTopOuterRowCount(1, false);
    m_grid.InsertColumns(0, 1, false);
    HTREEITEM hA = m_grid.ItemInsert(NULL, ULONG(-1), 3, false);
    HTREEITEM arrItems[3] = {hA, m_grid.ItemGetNext(hA, true, false, false), NULL};
    arrItems[2] = m_grid.ItemGetNext(arrItems[1], true, false, false);
    for (int i = 0; i < 3; i++)
        m_grid.ItemGetCell(arrItems[i], 0, 0, RUNTIME_CLASS(CExtGridCellString))->TextSet(CString((char)('A' + i)));
    CExtGridDataProvider* pDP = m_grid.GetDataProvider();
    const struct
    {
        const char* name;
        std::function<bool()> act;
        bool bDone;  // the grid's setter answers the count it had, -1 when refused
        int nOuterRows;
    } steps[] = {
        {"a row put above the outer row without a reservation", [&] { return pDP->RowInsert(0, 1); }, false, 1},
        {"the outer row taken out without a reservation", [&] { return pDP->RowRemove(0, 1); }, false, 1},
        {"a row put among the items", [&] { return pDP->RowInsert(1, 1); }, false, 1},
        {"two more outer rows through the grid", [&] { return m_grid.SetTopOuterRowCount(3, false) == 1; }, true, 3},
        {"back to none through the grid", [&] { return m_grid.SetTopOuterRowCount(0, false) == 3; }, true, 0},
        {"an outer row removed when there is none", [&] { return pDP->RowRemove(0, 1); }, false, 0},
    };
    for (const auto& step : steps)
    {
        SCOPED_TRACE(step.name);
        EXPECT_EQ(step.bDone, step.act());
        EXPECT_EQ(step.nOuterRows, m_grid.GetTopOuterRowCount());
        ASSERT_EQ(3, m_grid.GetRowCount());
        for (int i = 0; i < 3; i++)
        {
            const CString sExpected((char)('A' + i));
            EXPECT_EQ(sExpected, Text(m_grid.ItemGetCell(arrItems[i], 0, 0))) << "item " << i;
            EXPECT_EQ(sExpected, Text(m_grid.GridCellGet(0, m_grid.ItemGetVisibleRow(arrItems[i]), 0, 0)))
                << "row " << i;
        }
    }
}

TEST_F(TreeGridTest, KeysAndTheOutlineButtonExpandAndCollapse)
{
    m_grid.InsertColumns(0, 2, false);
    HTREEITEM hA = m_grid.ItemInsert(NULL, ULONG(-1), 2, false);
    HTREEITEM hChild = m_grid.ItemInsert(hA, ULONG(-1), 1, false);
    m_grid.ShowWindow(SW_SHOWNA);
    ::ShowWindow(m_hParent, SW_SHOWNA);
    m_grid.UpdateScrollBars();
    ASSERT_TRUE(m_grid.ItemFocusSet(hA, 0, false));
    struct Key
    {
        UINT nKey;
        int nRows;
        HTREEITEM* phFocus;
    } keys[] = {
        {VK_RIGHT, 3, &hA}, {VK_RIGHT, 3, &hA}, {VK_SUBTRACT, 2, &hA}, {VK_ADD, 3, &hA},
        {VK_LEFT, 2, &hA},  {VK_ADD, 3, &hA},   {VK_DOWN, 3, &hChild}, {VK_LEFT, 3, &hA},
    };
    for (size_t i = 0; i < sizeof(keys) / sizeof(keys[0]); i++)
    {
        SCOPED_TRACE(testing::Message() << "key " << i);
        m_grid.SendMessage(WM_KEYDOWN, keys[i].nKey, 1);
        EXPECT_EQ(keys[i].nRows, m_grid.GetRowCount());
        EXPECT_EQ(*keys[i].phFocus, m_grid.ItemFocusGet());
    }
    // The outline button of the expanded item: the last indent step of the tree column.
    RECT rcExtent, rcCell;
    ASSERT_TRUE(m_grid.GetCellRects(0, 0, 0, 0, &rcExtent, &rcCell));
    const POINT pt = {rcExtent.left + 19 / 2, (rcCell.top + rcCell.bottom) / 2};
    CExtGridBaseWnd::HIT_TEST_INFO hti(pt);
    m_grid.HitTest(hti);
    EXPECT_EQ(0x140000u, hti.m_dwAreaFlags & 0x1C0000u);
    m_grid.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(pt.x, pt.y));
    m_grid.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(pt.x, pt.y));
    EXPECT_EQ(2, m_grid.GetRowCount());
    m_grid.HitTest(hti);
    EXPECT_EQ(0x1C0000u, hti.m_dwAreaFlags & 0x1C0000u);
    // A point right of the indent is a plain cell.
    CExtGridBaseWnd::HIT_TEST_INFO htiText(POINT{rcExtent.left + 30, pt.y});
    m_grid.HitTest(htiText);
    EXPECT_EQ(0u, htiText.m_dwAreaFlags & 0x1C0000u);
}

TEST_F(TreeGridTest, ARowTakesItsNodesExtentAndExtraSpaceAndResizesOnlyTheExtent)
{
    m_grid.InsertColumns(0, 1, false);
    HTREEITEM hA = m_grid.ItemInsert(NULL, ULONG(-1), 2, false);
    CExtTreeGridCellNode* pA = Node(hA);
    ASSERT_TRUE(pA->SetExtent(20, 0));
    ASSERT_TRUE(pA->SetExtraSpace(3, false));
    ASSERT_TRUE(pA->SetExtraSpace(5, true));
    ASSERT_TRUE(pA->SetExtent(10, -1));
    ASSERT_TRUE(pA->SetExtent(40, 1));
    int nBefore = -1, nAfter = -1;
    EXPECT_EQ(28, m_grid.QueryRowExtent(0, &nBefore, &nAfter));
    EXPECT_EQ(3, nBefore);
    EXPECT_EQ(5, nAfter);
    RECT rcExtent, rcCell, rcNext;
    ASSERT_TRUE(m_grid.GetCellRects(0, 0, 0, 0, &rcExtent, &rcCell));
    ASSERT_TRUE(m_grid.GetCellRects(0, 1, 0, 0, &rcNext, NULL));
    EXPECT_EQ(rcExtent.top + 3, rcCell.top);
    EXPECT_EQ(rcCell.top + 20, rcCell.bottom);
    EXPECT_EQ(rcCell.bottom + 5, rcExtent.bottom);
    EXPECT_EQ(rcExtent.bottom, rcNext.top);
    // Resizing tracks the whole row: its limits and the new extent carry the extra space,
    // which the node keeps apart.
    int nMin = 0, nMax = 0;
    ASSERT_TRUE(m_grid.GetRowResizeRange(0, nMin, nMax));
    EXPECT_EQ(18, nMin);
    EXPECT_EQ(48, nMax);
    m_grid.OnResizeApply(false, 0, 38);
    INT nExtent = 0;
    ASSERT_TRUE(pA->GetExtent(nExtent, 0));
    EXPECT_EQ(30, nExtent);
    EXPECT_EQ(38, m_grid.QueryRowExtent(0));
}
