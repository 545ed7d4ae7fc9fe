// The grid window on a hidden window: cells live in the provider by band, extents come
// from the header cells, hit tests and proportional fitting, sorting with sort arrows
// and the provider's swaps and moves followed by the focus.
#include <gtest/gtest.h>
#include <algorithm>
#include <vector>
#include "framework/framework.h"
#include "toolkit/grid/grid_wnd.h"
#include "toolkit/grid/grid_cell_layers.h"
#include "grid_wnd_test_cell.h"
#include "hosted_grid_fixture.h"

IMPLEMENT_DYNCREATE(CGridTestCell, CExtGridCell)

namespace {

// Supplies a plain child window as every cell's editor and counts the requests.
class EditGrid : public CExtGridWnd
{
public:
    std::vector<POINT> m_arrEdited;
    HWND OnGridCellInplaceControlCreate(CExtGridCell*, LONG, LONG, LONG nColNo, LONG nRowNo, INT, INT, const RECT&,
                                        const RECT& rcCell, const RECT&, LONG, LONG) override
    {
        m_arrEdited.push_back(POINT{nColNo, nRowNo});
        return ::CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE, rcCell.left, rcCell.top,
                                 rcCell.right - rcCell.left, rcCell.bottom - rcCell.top, m_hWnd, NULL, NULL, NULL);
    }
};

struct GridWndTest : gridtests::HostedGridTest<EditGrid>
{
    // Three inner columns 50, 70, 90 wide under one header row, four rows of values.
    void Make(DWORD dwStyle = 0, int cx = 400)
    {
        CreateGrid(cx, 200, dwStyle);
        m_grid.SetTopOuterRowCount(1, false);
        m_grid.InsertColumns(-1, 3, false);
        m_grid.InsertRows(-1, 4, false);
        const int arrWidths[] = {50, 70, 90};
        for (int c = 0; c < 3; c++)
        {
            CExtGridCell* pHeader = m_grid.GridCellGet(c, 0, 0, -1, RUNTIME_CLASS(CGridTestCell));
            ASSERT_NE(nullptr, pHeader);
            pHeader->SetExtent(arrWidths[c]);
        }
        // Column c of row r holds 10 * ((r * 3 + c) % 4) + c: rows differ in every column.
        // The cells of column 0 give the rows their height.
        for (int r = 0; r < 4; r++)
            for (int c = 0; c < 3; c++)
            {
                CExtGridCell* pCell = m_grid.GridCellGet(c, r, 0, 0, RUNTIME_CLASS(CGridTestCell));
                pCell->SetValue32(10 * ((r * 3 + c) % 4) + c);
                pCell->SetExtent(20);
            }
        m_grid.UpdateScrollBars();
    }
    DWORD Value(int c, int r) { return m_grid.GridCellGet(c, r)->GetValue32(); }
    std::string Column(int c)
    {
        std::string s;
        for (int r = 0; r < m_grid.GetRowCount(); r++)
            s += (r ? "," : "") + std::to_string(Value(c, r));
        return s;
    }
};

}  // namespace

TEST_F(GridWndTest, OuterBandsAndInnerItemsLiveInTheProvider)
{
    Make();
    CExtGridDataProvider* pDP = m_grid.GetDataProvider();
    ASSERT_NE(nullptr, pDP);
    EXPECT_EQ(3u, pDP->ColumnCountGet());
    EXPECT_EQ(5u, pDP->RowCountGet());
    // A left band column comes first in the provider; inner cells keep their values.
    m_grid.SetLeftOuterColumnCount(1, false);
    EXPECT_EQ(4u, pDP->ColumnCountGet());
    EXPECT_EQ(Value(0, 0), pDP->CellGet(1, 1)->GetValue32());
    EXPECT_EQ(nullptr, m_grid.GridCellGet(0, 0, -1, -1, RUNTIME_CLASS(CGridTestCell)));  // a corner
    ASSERT_NE(nullptr, m_grid.GridCellGet(0, 2, -1, 0, RUNTIME_CLASS(CGridTestCell)));
    m_grid.SetLeftOuterColumnCount(0, false);
    EXPECT_EQ(3u, pDP->ColumnCountGet());
    EXPECT_EQ("0,30,20,10", Column(0));
    struct Case
    {
        const char* name;
        bool bInsert;
        int nPos, nCount, nResult, nColumnsAfter;
    } cases[] = {
        {"append", true, -1, 1, 1, 4},
        {"insert past the end", true, 9, 1, 0, 4},
        {"negative count from 1 is the full count", false, 1, -1, 0, 4},
        {"remove the appended one", false, 3, 1, 1, 3},
        {"count 0 only redraws", false, 0, 0, 0, 3},
        {"remove every inner column", false, 0, -1, 3, 0},
    };
    for (const Case& c : cases)
    {
        const int nResult = c.bInsert ? (int)m_grid.InsertColumns(c.nPos, c.nCount, false)
                                      : m_grid.RemoveColumns(c.nPos, c.nCount, false);
        EXPECT_EQ(c.nResult, nResult) << c.name;
        EXPECT_EQ(c.nColumnsAfter, m_grid.GetColumnCount()) << c.name;
        EXPECT_EQ((ULONG)c.nColumnsAfter, pDP->ColumnCountGet()) << c.name;
    }
}

TEST_F(GridWndTest, HeaderCellsGiveExtentsAndProportionalGridsLoseTheLastEdge)
{
    Make(CExtGridBaseWnd::GRID_RESIZE_COLUMNS_OUTER);
    EXPECT_EQ(50, m_grid.GetColumnOffset(1));
    EXPECT_EQ(120, m_grid.GetColumnOffset(2));
    struct Case
    {
        const char* name;
        int x, y;
        LONG nCol, nRow;
        DWORD dwArea;  // band and edge bits
    } cases[] = {
        {"inner cell", 60, 30, 1, 0, 0x200},
        {"header cell", 60, 5, 1, 0, 0x101},
        {"header right edge of the last column", 208, 5, 2, 0, 0x181},
        {"inner cell of the last row", 10, 95, 0, 3, 0x200},
    };
    for (int bProportional = 0; bProportional < 2; bProportional++)
    {
        m_grid.ModifyGridStyleEx(bProportional ? DWORD(CExtGridWnd::__EGSE_PROPORTIONAL_COLUMNS) : 0, 0, false);
        for (const Case& c : cases)
        {
            CExtGridBaseWnd::HIT_TEST_INFO hti(c.x, c.y);
            m_grid.HitTest(hti);
            DWORD dwArea = c.dwArea;
            if (bProportional && c.nCol == 2 && (dwArea & 0x100) != 0)
                dwArea &= ~0x80u;  // fitted columns end at the client's edge
            EXPECT_EQ(c.nCol, hti.m_nColNo) << c.name;
            EXPECT_EQ(c.nRow, hti.m_nRowNo) << c.name;
            EXPECT_EQ(dwArea, hti.m_dwAreaFlags & 0x3FF) << c.name << (bProportional ? " proportional" : "");
        }
    }
}

TEST_F(GridWndTest, ProportionalFittingSharesTheRestAndFallsBackToSinglePixels)
{
    struct Case
    {
        const char* name;
        int nAvailable, nKeep;
        int arrExtent[3], arrMin[3], arrMax[3];
        double arrProportion[3];
        int arrExpected[3];
    } cases[] = {
        {"grow by proportions", 250, -1, {50, 50, 50}, {0, 0, 0}, {999, 999, 999}, {1, 2, 1}, {75, 100, 75}},
        {"shrink by proportions", 110, -1, {50, 50, 50}, {0, 0, 0}, {999, 999, 999}, {1, 2, 1}, {40, 30, 40}},
        {"no proportions: pixels spread the growth", 300, -1, {50, 50, 50}, {0, 0, 0}, {999, 999, 999},
         {0, 0, 0}, {100, 100, 100}},
        {"no proportions: pixels spread an odd rest", 152, -1, {50, 50, 50}, {0, 0, 0}, {999, 999, 999},
         {0, 0, 0}, {51, 51, 50}},
        {"a maximum stops its column, pixels carry the rest", 250, -1, {50, 50, 50}, {0, 0, 0}, {999, 60, 999},
         {1, 2, 1}, {95, 60, 95}},
        {"all at their maximum shrink anyway", 120, -1, {50, 50, 50}, {0, 0, 0}, {50, 50, 50}, {0, 0, 0},
         {40, 40, 40}},
        {"kept column, the rest share", 300, 0, {100, 50, 50}, {0, 0, 0}, {999, 999, 999}, {1, 1, 1},
         {100, 100, 100}},
        {"everything at its minimum and maximum", 500, -1, {50, 50, 50}, {50, 50, 50}, {50, 50, 50}, {1, 1, 1},
         {50, 50, 50}},
        // A damaged layout's extent: pixel by pixel this took two thousand million passes.
        {"an extent far beyond its maximum comes down at once", 300, -1, {2000000000, 50, 50}, {10, 0, 0},
         {32767, 999, 999}, {0, 0, 0}, {300, 0, 0}},
    };
    Make();
    for (const Case& c : cases)
    {
        for (int i = 0; i < 3; i++)
        {
            CExtGridCell* pHeader = m_grid.GridCellGet(i, 0, 0, -1);
            pHeader->SetExtent(c.arrExtent[i], 0);
            pHeader->SetExtent(c.arrMin[i], -1);
            pHeader->SetExtent(c.arrMax[i], 1);
            pHeader->SetProportionalExtent(c.arrProportion[i]);
        }
        m_grid.AdjustProportionalExtents(c.nAvailable, true, c.nKeep);
        for (int i = 0; i < 3; i++)
            EXPECT_EQ(c.arrExpected[i], m_grid.QueryColumnExtent(i)) << c.name << ", column " << i;
    }
    // The window fits its columns to the client width whenever it lays itself out.
    for (int i = 0; i < 3; i++)
        m_grid.GridCellGet(i, 0, 0, -1)->SetExtent(999, 1);
    m_grid.ModifyGridStyleEx(CExtGridWnd::__EGSE_PROPORTIONAL_COLUMNS, 0, true);
    EXPECT_EQ(400, m_grid.QueryColumnExtent(0) + m_grid.QueryColumnExtent(1) + m_grid.QueryColumnExtent(2));
}

TEST_F(GridWndTest, SortingByAHeaderSetsArrowsTurnsAroundAndCarriesTheFocus)
{
    Make(CExtGridBaseWnd::GRID_SELECT_CELLS);
    m_grid.FocusSet(CPoint(0, 1), false, false, false, false);
    const DWORD dwFocusValue = Value(0, 1);
    CExtGridDataSortOrder order;
    CExtGridDataSortOrder::ITEM_INFO key1(1, true), key2(2, false);
    order.m_arrItems.Add(key1);
    struct Case
    {
        const char* name;
        bool bMerge;
        const char* szColumn1;
        DWORD dwHeader1, dwHeader2;  // sort bits of the header cells
    } cases[] = {
        {"first click sorts ascending", false, "1,11,21,31", 0x100000, 0},
        {"second click turns the key around", false, "31,21,11,1", 0x300000, 0},
        {"third click turns it back", false, "1,11,21,31", 0x100000, 0},
    };
    for (const Case& c : cases)
    {
        ASSERT_TRUE(m_grid.SetSortOrder(false, order, c.bMerge, true, false)) << c.name;
        EXPECT_EQ(c.szColumn1, Column(1)) << c.name;
        EXPECT_EQ(c.dwHeader1, m_grid.GridCellGet(1, 0, 0, -1)->GetStyle() & 0x300000) << c.name;
        EXPECT_EQ(c.dwHeader2, m_grid.GridCellGet(2, 0, 0, -1)->GetStyle() & 0x300000) << c.name;
        EXPECT_EQ(dwFocusValue, Value(0, m_grid.FocusGet().y)) << c.name;
    }
    // A second key by column 2 replaces the order: column 1 loses its arrow.
    CExtGridDataSortOrder order2;
    order2.m_arrItems.Add(key2);
    ASSERT_TRUE(m_grid.SetSortOrder(false, order2, false, true, false));
    EXPECT_EQ(0u, m_grid.GridCellGet(1, 0, 0, -1)->GetStyle() & 0x300000);
    EXPECT_EQ(0x300000u, m_grid.GridCellGet(2, 0, 0, -1)->GetStyle() & 0x300000);
    EXPECT_EQ("32,22,12,2", Column(2));
    CExtGridDataSortOrder orderRead;
    ASSERT_TRUE(m_grid.GetSortOrder(false, orderRead));
    ASSERT_EQ(1, orderRead.m_arrItems.GetSize());
    EXPECT_EQ(2, orderRead.m_arrItems[0].m_nRowColNo);  // grid index, the header row not counted
}

TEST_F(GridWndTest, DroppedHeadersMoveOrRemoveTheirColumns)
{
    Make(CExtGridBaseWnd::GRID_SELECT_CELLS);
    m_grid.ModifyGridStyleEx(CExtGridWnd::__EGSE_DRAG_REMOVE_COLUMNS, 0, false);
    auto header = [&](int c, bool bAfter) {
        CExtGridBaseWnd::HIT_TEST_INFO hti(0, 0);
        hti.m_nColNo = c;
        hti.m_nRowNo = 0;
        hti.m_dwAreaFlags = 0x101 | (bAfter ? 0x20000 : 0);
        return hti;
    };
    m_grid.FocusSet(CPoint(0, 2), false, false, false, false);
    struct Case
    {
        const char* name;
        int nSource, nTarget;
        bool bAfter;
        const char* szFirstRow;
        LONG nFocusColumn;
    } cases[] = {
        {"left half of the next column: no move", 0, 1, false, "0,11,22", 0},
        {"right half of the next column: one place on", 0, 1, true, "11,0,22", 1},
        {"before the first column", 2, 0, false, "22,11,0", 2},
    };
    for (const Case& c : cases)
    {
        m_grid.OnOuterCellDragComplete(header(c.nSource, false), header(c.nTarget, c.bAfter));
        std::string s;
        for (int col = 0; col < 3; col++)
            s += (col ? "," : "") + std::to_string(Value(col, 0));
        EXPECT_EQ(c.szFirstRow, s) << c.name;
        EXPECT_EQ(c.nFocusColumn, m_grid.FocusGet().x) << c.name;
    }
    m_grid.OnOuterCellDragRemove(header(1, false));
    EXPECT_EQ(2, m_grid.GetColumnCount());
    EXPECT_EQ("22,0", std::to_string(Value(0, 0)) + "," + std::to_string(Value(1, 0)));
}

TEST_F(GridWndTest, DoubleClickOnAHeaderEdgeFitsTheColumnLeftOfIt)
{
    Make(CExtGridBaseWnd::GRID_RESIZE_COLUMNS_OUTER);
    int nWidest = 0;
    for (int r = -1; r < 4; r++)
        nWidest = std::max(nWidest, (int)m_grid.GridCellGet(1, r < 0 ? 0 : r, 0, r < 0 ? -1 : 0)->MeasureCell(&m_grid).cx);
    ASSERT_NE(70, nWidest);
    struct Case
    {
        const char* name;
        DWORD dwStyleEx;
        int x;
        int arrExpected[3];
    } cases[] = {
        {"no best fit style", 0, 121, {50, 70, 90}},
        {"left edge of column 2 fits column 1", 0x304000, 121, {50, nWidest, 90}},
        {"inside the header cell fits nothing", 0x304000, 160, {50, 70, 90}},
    };
    for (const Case& c : cases)
    {
        m_grid.GridCellGet(1, 0, 0, -1)->SetExtent(70);
        m_grid.ModifyGridStyleEx(c.dwStyleEx, 0xFFFFFFFF, false);
        m_grid.UpdateScrollBars();
        m_grid.OnMouseClick(1, 2, 0, CPoint(c.x, 10));
        for (int i = 0; i < 3; i++)
            EXPECT_EQ(c.arrExpected[i], m_grid.QueryColumnExtent(i)) << c.name << ", column " << i;
    }
}

TEST_F(GridWndTest, EditorsOpenWhereTheBehaviourAllowsAndCloseWithTheirLoop)
{
    Make(CExtGridBaseWnd::GRID_SELECT_CELLS);
    m_grid.FocusSet(CPoint(1, 2), false, false, false, false);
    struct Case
    {
        const char* name;
        DWORD dwRemove;  // behaviour bits taken away
        bool bEdited;
    } cases[] = {
        {"F2 on an inner cell", 0, true},
        {"inner cells not editable", CExtGridWnd::__EGBS_EDIT_INNER, false},
        {"keys do not start editing", CExtGridWnd::__EGBS_EDIT_ON_KEY, false},
    };
    for (const Case& c : cases)
    {
        m_grid.ModifyBehaviorStyle(CExtGridWnd::__EGBS_DEFAULT, 0xFFFFFFFF, false);
        m_grid.ModifyBehaviorStyle(0, c.dwRemove, false);
        m_grid.m_arrEdited.clear();
        m_grid.SendMessage(WM_KEYDOWN, VK_F2, 0);
        ASSERT_EQ(c.bEdited ? 1u : 0u, m_grid.m_arrEdited.size()) << c.name;
        if (c.bEdited)
        {
            EXPECT_EQ(2, m_grid.m_arrEdited[0].y) << c.name;
        }
        // The grid is hidden, so its editor is too: the modal edit ends at once and the
        // editor goes.
        EXPECT_EQ(NULL, m_grid.GetInplaceControl()) << c.name;
        EXPECT_EQ(NULL, ::GetWindow(m_grid.m_hWnd, GW_CHILD)) << c.name;
        EXPECT_EQ(nullptr, CExtGridWnd::g_pCellInplaceEditing) << c.name;
    }
    // Without its loop the editor stays; the next edit replaces it.
    m_grid.ModifyBehaviorStyle(CExtGridWnd::__EGBS_DEFAULT, 0xFFFFFFFF, false);
    ASSERT_TRUE(m_grid.EditCellAt(0, 1, 0, 0, CRect(0, 0, 0, 0), CRect(0, 0, 0, 0), CRect(0, 0, 0, 0), false));
    const HWND hWndFirst = m_grid.GetInplaceControl();
    ASSERT_TRUE(::IsWindow(hWndFirst));
    ASSERT_TRUE(m_grid.EditCellAt(2, 3, 0, 0, CRect(0, 0, 0, 0), CRect(0, 0, 0, 0), CRect(0, 0, 0, 0), false));
    EXPECT_FALSE(::IsWindow(hWndFirst));
    EXPECT_TRUE(::IsWindow(m_grid.GetInplaceControl()));
}

TEST_F(GridWndTest, ResizingAnItemWithExtraSpaceKeepsTheSpaceOutOfItsOwnExtent)
{
    Make(CExtGridBaseWnd::GRID_RESIZE_COLUMNS_OUTER | CExtGridBaseWnd::GRID_RESIZE_ROWS_INNER);
    // Column 1 is resized at its header's right edge, row 1 at the bottom edge of its
    // first cell (which heads the row when there is no left band).
    struct Case
    {
        const char* name;
        bool bColumns;
        int nColumn, nRow, nRowType;
    } cases[] = {{"column", true, 1, 0, -1}, {"row", false, 0, 1, 0}};
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        CExtGridCell* pHeader = m_grid.GridCellGet(c.nColumn, c.nRow, 0, c.nRowType);
        ASSERT_NE(nullptr, pHeader);
        ASSERT_TRUE(pHeader->SetExtraSpace(4, false));
        ASSERT_TRUE(pHeader->SetExtraSpace(6, true));
        INT nOwn = 0;
        ASSERT_TRUE(pHeader->GetExtent(nOwn, 0));
        m_grid.UpdateScrollBars();
        // The same drag twice: each pulls the far edge 20 pixels further out.
        for (int nDrag = 1; nDrag <= 2; nDrag++)
        {
            // The edge is grabbed inside the cell, before the space after it.
            RECT rcCell;
            ASSERT_TRUE(m_grid.GetCellRects(c.nColumn, c.nRow, 0, c.nRowType, NULL, &rcCell));
            const POINT ptPress = c.bColumns ? POINT{rcCell.right - 1, 5} : POINT{10, rcCell.bottom - 1};
            const POINT ptRelease = c.bColumns ? POINT{ptPress.x + 20, 5} : POINT{10, ptPress.y + 20};
            m_grid.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(ptPress.x, ptPress.y));
            ASSERT_EQ(c.bColumns ? CExtGridBaseWnd::__EGBWA_TRACKING_COLUMN_RESIZE
                                 : CExtGridBaseWnd::__EGBWA_TRACKING_ROW_RESIZE,
                      m_grid.GetTrackingMode())
                << nDrag;
            m_grid.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(ptRelease.x, ptRelease.y));
            m_grid.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(ptRelease.x, ptRelease.y));
            EXPECT_EQ(0, m_grid.GetTrackingMode()) << nDrag;
            int nBefore = -1, nAfter = -1;
            const int nWhole = c.bColumns ? m_grid.QueryColumnExtent(c.nColumn, &nBefore, &nAfter)
                                          : m_grid.QueryRowExtent(c.nRow, &nBefore, &nAfter);
            EXPECT_EQ(nOwn + 10 + 20 * nDrag, nWhole) << nDrag;
            EXPECT_EQ(4, nBefore) << nDrag;
            EXPECT_EQ(6, nAfter) << nDrag;
            INT nStored = 0;
            ASSERT_TRUE(pHeader->GetExtent(nStored, 0));
            EXPECT_EQ(nOwn + 20 * nDrag, nStored) << nDrag;
        }
    }
}
