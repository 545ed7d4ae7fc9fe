#include <gtest/gtest.h>
#include "framework/framework.h"
#include "toolkit/grid/grid_base_wnd.h"
#include "toolkit/theme/paint_manager.h"
#include "support/dib_canvas.h"
#include "hosted_grid_fixture.h"

namespace {

class TestGrid : public CExtGridBaseWnd
{
public:
    bool m_bVetoFocus = false;
    bool OnFocusChanging(const POINT&, const POINT&, bool&, bool&, bool&, bool&) override { return !m_bVetoFocus; }
    RECT Band(int n) const
    {
        const RECT* arr[] = {&m_rcOuterTop, &m_rcOuterBottom, &m_rcOuterLeft, &m_rcOuterRight, &m_rcOuterTopLeft};
        return *arr[n];
    }
};

struct GridBaseWndTest : gridtests::HostedGridTest<TestGrid>
{
    void Make(int cx, int cy, DWORD dwStyle) { CreateGrid(cx, cy, dwStyle); }
};

std::string R(const RECT& rc)
{
    char s[64];
    sprintf(s, "(%ld,%ld,%ld,%ld)", rc.left, rc.top, rc.right, rc.bottom);
    return s;
}

}  // namespace

TEST_F(GridBaseWndTest, BandsAndDataAreaFollowTheOuterExtents)
{
    Make(200, 100, 0);
    m_grid.SetTopOuterRowCount(1, false);
    m_grid.RowExtentSet(true, 0, 20);
    m_grid.SetLeftOuterColumnCount(1, false);
    m_grid.ColumnExtentSet(true, 0, 40);
    m_grid.UpdateScrollBars();
    RECT rc;
    m_grid.GetClientRectEx(&rc);
    EXPECT_EQ("(40,20,200,100)", R(rc));
    EXPECT_EQ("(40,0,200,20)", R(m_grid.Band(0)));
    EXPECT_EQ("(0,20,40,100)", R(m_grid.Band(2)));
    EXPECT_EQ("(0,0,40,20)", R(m_grid.Band(4)));
    // Bands taller than the client: no data height, the bottom band right under the top.
    m_grid.RowExtentSet(true, 0, 80);
    m_grid.SetBottomOuterRowCount(1, false);
    m_grid.RowExtentSet(false, 0, 50);
    m_grid.UpdateScrollBars();
    m_grid.GetClientRectEx(&rc);
    EXPECT_EQ(rc.top, rc.bottom);
    EXPECT_EQ(80, m_grid.Band(1).top);
    EXPECT_EQ(130, m_grid.Band(1).bottom);
    // Outer extents: stored, the default, or 0 without inner rows when asked.
    EXPECT_EQ(60, m_grid.ColumnExtentGet(false, 3));
    EXPECT_EQ(0, m_grid.ColumnExtentGet(true, 0, true));
}

TEST_F(GridBaseWndTest, CountsScrollTypesTotalsAndPages)
{
    Make(200, 100, CExtScrollItemWnd::__ESIS_ST_ITEM | (CExtScrollItemWnd::__ESIS_ST_PIXEL << 2));
    m_grid.SetRowCount(7, false);
    m_grid.SetColumnCount(-1, false);
    EXPECT_EQ(3, m_grid.GetScrollTypeH());
    CSize size;
    m_grid.GetTotalSize(size);
    EXPECT_EQ(0x7FFFFFFF, size.cx);
    EXPECT_EQ(140, size.cy);
    m_grid.SetColumnCount(5, false);
    EXPECT_EQ(2, m_grid.GetScrollTypeH());
    m_grid.GetTotalSize(size);
    EXPECT_EQ(5, size.cx);
    m_grid.ModifyScrollItemStyle(CExtGridBaseWnd::GRID_UNIFORM_ROWS, 0, false);
    m_grid.SetDefaultRowExtent(11, false);
    m_grid.GetTotalSize(size);
    EXPECT_EQ(77, size.cy);
    EXPECT_EQ(33, m_grid.GetRowOffset(3));
    EXPECT_EQ(0, m_grid.GetRowOffset(8));
    // A column of 60 in a 200 wide client: three are counted, the fourth reaches the edge.
    m_grid.GetPageSizeInItems(size, 0);
    EXPECT_EQ(3, size.cx);
    m_grid.SetDefaultColumnExtent(500, false);
    m_grid.GetPageSizeInItems(size, 0);
    EXPECT_EQ(1, size.cx);
}

TEST_F(GridBaseWndTest, InsertAndRemoveCarryFocusAndSelection)
{
    Make(400, 300, CExtGridBaseWnd::GRID_SELECT_CELLS | CExtGridBaseWnd::GRID_MULTI_AREAS);
    struct Case
    {
        const char* name;
        bool bInsert;
        int nPos, nCount, nFocus;
        RECT rcArea;
        int nResultFocus;
        RECT rcResult;  // left -1: the area is gone
    } cases[] = {
        {"insert before focus", true, 1, 2, 3, {0, 0, 6, 0}, 5, {0, 0, 8, 0}},
        {"insert at end", true, 10, 2, 3, {3, 0, 4, 0}, 3, {3, 0, 4, 0}},
        {"remove over focus", false, 2, 3, 3, {3, 0, 4, 0}, -1, {-1, -1, -1, -1}},
        {"remove cuts an area", false, 2, 3, 6, {1, 0, 6, 0}, 3, {1, 0, 3, 0}},
        {"remove at end", false, 8, -1, 1, {5, 0, 9, 0}, 1, {5, 0, 7, 0}},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        m_grid.SetColumnCount(10, false);
        m_grid.SetRowCount(3, false);
        m_grid.SelectionUnset(false, false);
        m_grid.FocusSet({c.nFocus, 0}, false, false, false, false);
        ASSERT_TRUE(m_grid.SelectionSet(c.rcArea, true, false, false));
        if (c.bInsert)
            EXPECT_TRUE(m_grid.InsertColumns(c.nPos, c.nCount, false));
        else
            EXPECT_GT(m_grid.RemoveColumns(c.nPos, c.nCount, false), 0);
        EXPECT_EQ(c.nResultFocus, m_grid.FocusGet().x);
        EXPECT_EQ(R(c.rcResult), R(m_grid.SelectionGet(true, 0)));
    }
}

TEST_F(GridBaseWndTest, HitTestFindsCellsEdgesAndBands)
{
    Make(400, 300, 0);
    m_grid.SetColumnCount(5, false);
    m_grid.SetRowCount(10, false);
    m_grid.SetTopOuterRowCount(1, false);
    m_grid.RowExtentSet(true, 0, 20);
    m_grid.UpdateScrollBars();
    const DWORD dwInner = CExtGridHitTestInfo::AreaFlagsFromTypes(0, 0);
    const DWORD dwTop = CExtGridHitTestInfo::AreaFlagsFromTypes(0, -1);
    struct Case
    {
        const char* name;
        int x, y;
        bool bAdjust, bDropFirst, bFarHalf;
        int nCol, nRow;
        DWORD dwFlags;
        RECT rcItem;
    } cases[] = {
        {"middle of (2,5)", 150, 130, false, false, false, 2, 5, dwInner, {120, 120, 180, 140}},
        {"left edge of (2,5) adjusted", 122, 130, true, false, false, 1, 5, dwInner | 0x80, {60, 120, 120, 140}},
        {"left edge of column 0 dropped", 1, 130, false, true, false, 0, 5, dwInner, {0, 120, 60, 140}},
        {"bottom edge of (0,0)", 30, 38, false, false, false, 0, 0, dwInner | 0x20, {0, 20, 60, 40}},
        {"header far half", 100, 5, false, false, true, 1, 0, dwTop | 0x20000, {60, 0, 120, 20}},
        {"header near half", 70, 5, false, false, true, 1, 0, dwTop, {60, 0, 120, 20}},
        {"right of the last column", 350, 130, false, false, false, -1, -1, dwInner, {0, 0, 0, 0}},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        CExtGridBaseWnd::HIT_TEST_INFO hti(c.x, c.y);
        m_grid.HitTest(hti, c.bAdjust, c.bDropFirst, c.bFarHalf);
        EXPECT_EQ(c.nCol, hti.m_nColNo);
        EXPECT_EQ(c.nRow, hti.m_nRowNo);
        EXPECT_EQ(c.dwFlags, hti.m_dwAreaFlags);
        EXPECT_EQ(R(c.rcItem), R(hti.m_rcItem));
    }
}

TEST_F(GridBaseWndTest, VisibleRangesAndEnsureVisible)
{
    Make(200, 100, CExtScrollItemWnd::__ESIS_ST_PIXEL | (CExtScrollItemWnd::__ESIS_ST_ITEM << 2));
    m_grid.SetColumnCount(20, false);
    m_grid.SetRowCount(50, false);
    m_grid.UpdateScrollBars();
    int nFirst = 0, nLast = 0, nOffset = 0;
    m_grid.GetVisibleColumnRange(nFirst, nLast, nOffset);
    EXPECT_EQ(0, nFirst);
    RECT rc;
    m_grid.GetClientRectEx(&rc);
    EXPECT_EQ((rc.right - rc.left - 1) / 60, nLast);
    ASSERT_TRUE(m_grid.EnsureColumnVisible(7, false));
    m_grid.GetVisibleColumnRange(nFirst, nLast, nOffset);
    EXPECT_EQ(7, nLast);
    // Column 7's far edge lies on the client's far edge.
    EXPECT_EQ(rc.right, nOffset + (7 - nFirst + 1) * 60);
    ASSERT_TRUE(m_grid.EnsureRowVisible(30, false));
    m_grid.GetVisibleRowRange(nFirst, nLast, nOffset);
    EXPECT_LE(nFirst, 30);
    EXPECT_GE(nLast, 30);
    EXPECT_FALSE(m_grid.EnsureRowVisible(50, false));
}

TEST_F(GridBaseWndTest, SelectionRulesAndFocusVeto)
{
    Make(400, 300, CExtGridBaseWnd::GRID_SELECT_CELLS | CExtGridBaseWnd::GRID_MULTI_AREAS);
    m_grid.SetColumnCount(10, false);
    m_grid.SetRowCount(10, false);
    const RECT rcCell = {2, 4, 2, 4};
    // Equal areas collapse into one unless the parity rule keeps them.
    m_grid.SelectionSet(rcCell, true, false, false);
    m_grid.SelectionSet(rcCell, false, false, false);
    EXPECT_EQ(1, m_grid.SelectionGetAreaCount());
    m_grid.ModifyScrollItemStyle(CExtGridBaseWnd::GRID_XOR_SELECTION, 0, false);
    m_grid.SelectionSet(rcCell, false, false, false);
    EXPECT_FALSE(m_grid.IsSelected(2, 4));
    EXPECT_FALSE(m_grid.IsSelected(-1, 4));
    m_grid.SelectionSet(rcCell, false, false, false);
    EXPECT_TRUE(m_grid.IsSelected(2, 4));
    EXPECT_TRUE(m_grid.IsSelected(-1, 4));
    EXPECT_EQ(3, m_grid.SelectionGetHitCount(2, -1));
    m_grid.ModifyScrollItemStyle(0, CExtGridBaseWnd::GRID_XOR_SELECTION, false);
    // Bounding rectangle of ordered areas.
    m_grid.SelectionSet({3, 5, 1, 2}, true, false, false);
    m_grid.SelectionSet({0, 0, 0, 0}, false, false, false);
    EXPECT_EQ("(0,0,3,5)", R(m_grid.SelectionGet(true, -1)));
    EXPECT_EQ("(-1,-1,-1,-1)", R(m_grid.SelectionGet(true, 2)));
    // Split into one area per column.
    m_grid.SelectionSet({2, 1, 4, 3}, true, false, false);
    m_grid.SelectionSplit(true, false);
    ASSERT_EQ(3, m_grid.SelectionGetAreaCount());
    EXPECT_EQ("(3,1,3,3)", R(m_grid.SelectionGet(true, 1)));
    // Searching along rows of column 2.
    EXPECT_EQ(1, m_grid.SelectionGetFirstRow(2));
    EXPECT_EQ(-1, m_grid.SelectionGetNext(false, false, 2, 0));
    EXPECT_EQ(-1, m_grid.SelectionGetNextRow(2, 3));
    // Rows mode selects the focus row across every column.
    m_grid.ModifyScrollItemStyle(CExtGridBaseWnd::GRID_SELECT_ROWS, CExtGridBaseWnd::GRID_SELECTION_MODE, false);
    m_grid.FocusSet({4, 6}, false, false, true, false);
    EXPECT_EQ("(0,6,9,6)", R(m_grid.SelectionGet(true, -1)));
    // A veto keeps focus and selection.
    m_grid.m_bVetoFocus = true;
    bool bVetoed = false;
    m_grid.FocusSet({1, 1}, true, true, true, false, &bVetoed);
    EXPECT_TRUE(bVetoed);
    EXPECT_EQ(4, m_grid.FocusGet().x);
    EXPECT_EQ("(0,6,9,6)", R(m_grid.SelectionGet(true, -1)));
}

TEST_F(GridBaseWndTest, KeysMoveFocusAndSelectionByMode)
{
    Make(400, 300, CExtGridBaseWnd::GRID_SELECT_ROWS);
    m_grid.SetColumnCount(3, false);
    m_grid.SetRowCount(4, false);
    struct Case
    {
        const char* name;
        DWORD dwMode;
        POINT ptFocus;
        UINT nChar, nRepCnt;
        POINT ptResult;
        RECT rcSelection;
    } cases[] = {
        {"down by five in row mode", CExtGridBaseWnd::GRID_SELECT_ROWS, {1, 2}, VK_DOWN, 5, {1, 3}, {0, 3, 2, 3}},
        {"end in row mode", CExtGridBaseWnd::GRID_SELECT_ROWS, {1, 0}, VK_END, 1, {1, 3}, {0, 3, 2, 3}},
        {"right in cell mode", CExtGridBaseWnd::GRID_SELECT_CELLS, {0, 2}, VK_RIGHT, 1, {1, 2}, {1, 2, 1, 2}},
        {"home in column mode", CExtGridBaseWnd::GRID_SELECT_COLUMNS, {2, 1}, VK_HOME, 1, {0, 1}, {0, 0, 0, 3}},
        {"up at the top stays", CExtGridBaseWnd::GRID_SELECT_CELLS, {1, 0}, VK_UP, 1, {1, 0}, {1, 0, 1, 0}},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        m_grid.ModifyScrollItemStyle(c.dwMode, CExtGridBaseWnd::GRID_SELECTION_MODE, false);
        m_grid.FocusSet(c.ptFocus, false, false, true, false);
        m_grid.SendMessage(WM_KEYDOWN, c.nChar, MAKELPARAM(c.nRepCnt, 0));
        EXPECT_EQ(c.ptResult.x, m_grid.FocusGet().x);
        EXPECT_EQ(c.ptResult.y, m_grid.FocusGet().y);
        EXPECT_EQ(R(c.rcSelection), R(m_grid.SelectionGet(true, -1)));
    }
}

TEST_F(GridBaseWndTest, CellWalkPaintsBandsSelectionAndFrames)
{
    Make(200, 100, CExtGridBaseWnd::GRID_SELECT_CELLS);
    m_grid.SetColumnCount(3, false);
    m_grid.SetRowCount(3, false);
    m_grid.SetTopOuterRowCount(1, false);
    m_grid.SetLeftOuterColumnCount(1, false);
    m_grid.ColumnExtentSet(true, 0, 40);
    m_grid.UpdateScrollBars();
    m_grid.FocusSet({1, 1}, false, false, true, false);
    CDC dc;
    HDC hScreen = ::GetDC(NULL);
    dc.Attach(::CreateCompatibleDC(hScreen));
    HBITMAP hBmp = ::CreateCompatibleBitmap(hScreen, 200, 100);
    ::ReleaseDC(NULL, hScreen);
    HGDIOBJ hOld = ::SelectObject(dc.GetSafeHdc(), hBmp);
    dc.FillSolidRect(0, 0, 200, 100, RGB(1, 2, 3));
    m_grid.OnPaintCells(&dc, true, NULL);
    struct Probe
    {
        const char* name;
        int x, y;
        COLORREF clr;
    } probes[] = {
        {"selected focus cell", 130, 50, ::GetSysColor(COLOR_HIGHLIGHT)},
        {"plain data cell keeps the ground", 70, 30, RGB(1, 2, 3)},
        {"header light edge", 40, 0, ::GetSysColor(COLOR_BTNHIGHLIGHT)},
        {"header dark edge", 99, 19, ::GetSysColor(COLOR_BTNSHADOW)},
        {"header face", 70, 10, ::GetSysColor(COLOR_3DFACE)},
        {"row header face", 20, 50, ::GetSysColor(COLOR_3DFACE)},
        {"corner face", 5, 5, ::GetSysColor(COLOR_3DFACE)},
    };
    for (const Probe& p : probes)
    {
        SCOPED_TRACE(p.name);
        EXPECT_EQ(p.clr, dc.GetPixel(p.x, p.y));
    }
    ::SelectObject(dc.GetSafeHdc(), hOld);
    ::DeleteObject(hBmp);
    ::DeleteDC(dc.Detach());
    // The corner hit carries its own flags and no cell.
    CExtGridBaseWnd::HIT_TEST_INFO hti(5, 5);
    m_grid.HitTest(hti);
    EXPECT_EQ(0x105u, hti.m_dwAreaFlags);
    EXPECT_EQ(-1, hti.m_nColNo);
    EXPECT_EQ(-1, hti.m_nRowNo);
}

TEST_F(GridBaseWndTest, ShiftStretchesTheLastAreaOnlyWithTheMultiRowBit)
{
    Make(400, 300, CExtGridBaseWnd::GRID_SELECT_ROWS);
    m_grid.SetColumnCount(3, false);
    m_grid.SetRowCount(8, false);
    INPUT in = {};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = VK_SHIFT;
    ASSERT_EQ(1u, ::SendInput(1, &in, sizeof(in)));
    for (int i = 0; i < 400 && ::GetAsyncKeyState(VK_SHIFT) >= 0; i++)
        ::Sleep(5);
    struct Case
    {
        const char* name;
        DWORD dwMulti;
        POINT ptFocus;
        RECT rcSelection;
    } cases[] = {
        {"without the bit nothing moves", 0, {0, 2}, {0, 2, 2, 2}},
        {"with the bit the area grows", CExtGridBaseWnd::GRID_MULTI_ROWS, {0, 3}, {0, 2, 2, 3}},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        m_grid.ModifyScrollItemStyle(c.dwMulti, CExtGridBaseWnd::GRID_MULTI_ROWS, false);
        m_grid.FocusSet({0, 2}, false, false, true, false);
        m_grid.SendMessage(WM_KEYDOWN, VK_DOWN, 1);
        EXPECT_EQ(c.ptFocus.y, m_grid.FocusGet().y);
        EXPECT_EQ(R(c.rcSelection), R(m_grid.SelectionGet(true, -1)));
    }
    in.ki.dwFlags = KEYEVENTF_KEYUP;
    ::SendInput(1, &in, sizeof(in));
}

namespace {

// Twelve rows exist on an unbounded vertical axis.
class TwelveRows : public TestGrid
{
public:
    bool IsWalkRowSkipped(int nRow, DWORD) override { return nRow >= 12; }
};

}  // namespace

TEST_F(GridBaseWndTest, LastShownCellOnAnUnboundedAxis)
{
    TwelveRows grid;
    ASSERT_TRUE(grid.Create(CWnd::FromHandle(m_hParent), CRect(0, 0, 200, 90), 2, 0, WS_CHILD));
    grid.SetDefaultRowExtent(20, false);
    grid.SetColumnCount(3, false);
    grid.SetRowCount(-1, false);
    EXPECT_EQ(3, grid.GetScrollTypeV());
    grid.UpdateScrollBars();
    struct Case
    {
        POINT pt, ptResult;
    } cases[] = {
        {{1, 20}, {1, 11}},  // past the rows that exist
        {{1, 4}, {1, 3}},    // cut off by the bottom edge
        {{1, 2}, {1, 2}},
        {{-1, -1}, {-1, -1}},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.pt.y);
        const POINT pt = grid.ClipVirtualCell(c.pt);
        EXPECT_EQ(c.ptResult.x, pt.x);
        EXPECT_EQ(c.ptResult.y, pt.y);
    }
    grid.DestroyWindow();
}

TEST_F(GridBaseWndTest, CellColoursComeFromTheCurrentTheme)
{
    Make(200, 100, CExtGridBaseWnd::GRID_SELECT_CELLS);
    m_grid.ModifyScrollItemStyleEx(CExtScrollItemWnd::__ESIS_EX_PM_COLORS_FONTS, 0, false);
    m_grid.SetColumnCount(3, false);
    m_grid.SetRowCount(3, false);
    m_grid.SetTopOuterRowCount(1, false);
    m_grid.UpdateScrollBars();
    m_grid.FocusSet({1, 1}, false, false, true, false);
    CRuntimeClass* themes[] = {RUNTIME_CLASS(CExtPaintManagerXP), RUNTIME_CLASS(CExtPaintManagerOffice2003),
                               RUNTIME_CLASS(CExtPaintManagerStudio2005)};
    for (CRuntimeClass* pTheme : themes)
    {
        SCOPED_TRACE(pTheme->m_lpszClassName);
        ASSERT_TRUE(g_CurrentPaintManager.InstallPaintManagerByClass(pTheme));
        testsupport::DibCanvas canvas(200, 100, RGB(1, 2, 3));
        CDC dc;
        dc.Attach(canvas.Dc());
        m_grid.OnPaintCells(&dc, true, NULL);
        dc.Detach();
        auto color = [&](int n) { return g_CurrentPaintManager->LookupColor(n, &m_grid, 0); };
        // Data cell (1, 1) spans (60, 40) - (120, 60); header cell 0 spans (0, 0) - (60, 20).
        EXPECT_EQ(color(COLOR_HIGHLIGHT), canvas.Pixel(90, 50));
        EXPECT_EQ(color(COLOR_3DFACE), canvas.Pixel(30, 10));
        EXPECT_EQ(color(COLOR_BTNHIGHLIGHT), canvas.Pixel(0, 0));
        EXPECT_EQ(color(COLOR_BTNSHADOW), canvas.Pixel(59, 19));
        EXPECT_EQ(RGB(1, 2, 3), canvas.Pixel(30, 30));
    }
    g_CurrentPaintManager.InstallPaintManagerByClass(RUNTIME_CLASS(CExtPaintManagerXP));
}
