// A bar's view of its dock bar's rows: neighbours, edges, the row's bars and rectangle,
// and the rows beside it, read from the framework's dock-bar array.
#include <gtest/gtest.h>

#include "framework/framework.h"
#include "toolkit/bars/control_bar.h"

namespace {

struct RowHost : CWnd
{
    RowHost() { CreateEx(0, NULL, "Rows", WS_POPUP, 0, 0, 400, 300, NULL, NULL); }
    ~RowHost()
    {
        if (m_hWnd != NULL)
            DestroyWindow();
    }
};

}  // namespace

TEST(ControlBarRows, NeighboursEdgesAndRowsOfTheDockBarArray)
{
    RowHost host;
    CDockBar dock;  // outlives the bars, which leave its array as they go
    CExtControlBar a, c, d, hidden;
    CExtToolControlBar tool;
    ASSERT_TRUE(a.Create("A", &host, 1, WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP));
    ASSERT_TRUE(tool.Create("T", &host, 2, WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP));
    ASSERT_TRUE(c.Create("C", &host, 3, WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP));
    ASSERT_TRUE(d.Create("D", &host, 4, WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP));
    ASSERT_TRUE(hidden.Create("H", &host, 5, WS_CHILD | CBRS_ALIGN_TOP));
    a.MoveWindow(0, 0, 100, 20);
    tool.MoveWindow(100, 0, 50, 22);
    c.MoveWindow(150, 0, 60, 20);
    d.MoveWindow(0, 22, 80, 20);

    // Row 1: A, placeholder, toolbar, C; row 2: D, hidden.
    CPtrArray& arr = dock.m_arrBars;
    ASSERT_EQ(1, arr.GetSize());  // a dock bar starts with its leading NULL
    arr.Add(static_cast<CControlBar*>(&a));
    arr.Add(reinterpret_cast<void*>(UINT_PTR(0x1234)));
    arr.Add(static_cast<CControlBar*>(&tool));
    arr.Add(static_cast<CControlBar*>(&c));
    arr.Add(NULL);
    arr.Add(static_cast<CControlBar*>(&d));
    arr.Add(static_cast<CControlBar*>(&hidden));
    arr.Add(NULL);
    for (CExtControlBar* p : {static_cast<CExtControlBar*>(&a), static_cast<CExtControlBar*>(&tool),
                              static_cast<CExtControlBar*>(&c), static_cast<CExtControlBar*>(&d), &hidden})
        p->m_pDockBar = &dock;

    EXPECT_EQ(&tool, a.FindRowNeighbour(true, true, false));
    EXPECT_EQ(&c, a.FindRowNeighbour(true, true, true));  // the toolbar is fixed
    EXPECT_EQ(nullptr, a.FindRowNeighbour(false));
    EXPECT_EQ(nullptr, c.FindRowNeighbour(true));
    EXPECT_EQ(&c, a.FindRowEdgeBar(true));
    EXPECT_EQ(&a, a.FindRowEdgeBar(false));
    EXPECT_TRUE(a.IsFirstInRow(false));
    EXPECT_FALSE(c.IsFirstInRow(false));
    EXPECT_FALSE(c.IsFirstInRow(true));
    EXPECT_TRUE(d.IsFirstInRow(true));
    EXPECT_FALSE(a.IsSingleInRow());
    EXPECT_TRUE(d.IsSingleInRow());  // its row-mate is hidden

    CArray<CExtControlBar*, CExtControlBar*> bars;
    RECT rcRow;
    int nFirst = 0;
    bool bFirst = false, bLast = true;
    a.GetRowBars(bars, true, &rcRow, &nFirst, &bFirst, &bLast);
    ASSERT_EQ(2, bars.GetSize());
    EXPECT_EQ(&a, bars[0]);
    EXPECT_EQ(&c, bars[1]);
    EXPECT_EQ(CRect(0, 0, 210, 20), CRect(rcRow));
    EXPECT_EQ(1, nFirst);
    EXPECT_TRUE(bFirst);
    EXPECT_FALSE(bLast);
    a.GetRowExtBars(bars, true, &rcRow);
    ASSERT_EQ(3, bars.GetSize());
    EXPECT_EQ(&tool, bars[1]);
    EXPECT_EQ(CRect(0, 0, 210, 22), CRect(rcRow));
    EXPECT_TRUE(c.IsLastInRow());
    EXPECT_FALSE(a.IsLastInRow());

    a.GetNeighbourRowBars(true, bars, &rcRow, &nFirst, &bFirst, &bLast);
    ASSERT_EQ(1, bars.GetSize());
    EXPECT_EQ(&d, bars[0]);
    EXPECT_EQ(6, nFirst);
    EXPECT_FALSE(bFirst);
    EXPECT_TRUE(bLast);
    d.GetNeighbourRowBars(false, bars);
    EXPECT_EQ(3, bars.GetSize());
    d.GetNeighbourRowBars(true, bars);
    EXPECT_EQ(0, bars.GetSize());

    // Minimized: the extent along the row equals the minimum extent.
    a.m_sizeDockedH.cx = a.GetMinHorzExtent();
    EXPECT_TRUE(a.IsMinimizedInRow());
    a.m_sizeDockedH.cx += 1;
    EXPECT_FALSE(a.IsMinimizedInRow());
}
