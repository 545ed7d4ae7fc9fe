// The grid base window under a real mouse (SendInput on the test display): resizing a
// column by its header edge, the hover highlight and its end when the mouse leaves, and
// the delayed popup of the data area.
#include <gtest/gtest.h>
#include <vector>
#include "framework/framework.h"
#include "tests/support/message_pump.h"
#include "tests/support/mouse_input.h"
#include "toolkit/grid/grid_base_wnd.h"
#include "toolkit/grid/grid_cell_string.h"
#include "toolkit/grid/grid_wnd.h"

using testsupport::PumpFor;
using testsupport::PumpPastTimer;
using testsupport::PumpPending;
using testsupport::PumpUntil;
using testsupport::PumpUntilIdle;

namespace {

// Records what the base window hands to the derived grids.
class MouseGrid : public CExtGridBaseWnd
{
public:
    struct Applied
    {
        bool bColumn;
        int nIndex, nExtent;
    };
    std::vector<Applied> m_arrApplied;
    std::vector<std::pair<POINT, UINT>> m_arrDelays;
    void OnResizeApply(bool bColumn, int nIndex, int nExtent) override
    {
        m_arrApplied.push_back({bColumn, nIndex, nExtent});
    }
    bool OnPopupDelayStart(HIT_TEST_INFO& hti, UINT nDelay) override
    {
        m_arrDelays.push_back({POINT{hti.m_nColNo, hti.m_nRowNo}, nDelay});
        return CExtGridBaseWnd::OnPopupDelayStart(hti, nDelay);
    }
};

void SendMouse(POINT pt, DWORD dwFlags)
{
    INPUT in = {};
    in.type = INPUT_MOUSE;
    in.mi.dx = pt.x * 65535 / (::GetSystemMetrics(SM_CXSCREEN) - 1);
    in.mi.dy = pt.y * 65535 / (::GetSystemMetrics(SM_CYSCREEN) - 1);
    in.mi.dwFlags = MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE | dwFlags;
    ::SendInput(1, &in, sizeof(in));
    PumpPending();
}

void SendRightClick(POINT pt)
{
    SendMouse(pt, MOUSEEVENTF_RIGHTDOWN);
    SendMouse(pt, MOUSEEVENTF_RIGHTUP);
}

// A 5 x 10 grid with one header row (20 high) and one row-header column (40 wide) in a
// visible, active popup at (100, 100); data columns are 60 wide, rows 20 high.
struct GridMouseTest : testing::Test
{
    HWND m_hParent = NULL;
    MouseGrid m_grid;
    void SetUp() override
    {
        m_hParent = ::CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 100, 100, 420, 300, NULL, NULL, NULL,
                                      NULL);
        ASSERT_TRUE(m_grid.Create(CWnd::FromHandle(m_hParent), CRect(0, 0, 420, 300), 1,
                                  0xA | CExtGridBaseWnd::GRID_SELECT_CELLS | CExtGridBaseWnd::GRID_RESIZE_COLUMNS_OUTER,
                                  WS_CHILD | WS_VISIBLE));
        m_grid.SetDefaultRowExtent(20, false);
        m_grid.SetColumnCount(5, false);
        m_grid.SetRowCount(10, false);
        m_grid.SetTopOuterRowCount(1, false);
        m_grid.RowExtentSet(true, 0, 20);
        m_grid.SetLeftOuterColumnCount(1, false);
        m_grid.ColumnExtentSet(true, 0, 40);
        m_grid.UpdateScrollBars();
        ::SetActiveWindow(m_hParent);
        ::SetFocus(m_grid.m_hWnd);
        SendMouse(POINT{20, 20}, 0);
        PumpPending();
    }
    void TearDown() override
    {
        SendMouse(POINT{20, 20}, 0);
        m_grid.DestroyWindow();
        ::DestroyWindow(m_hParent);
    }
    static POINT Screen(int x, int y) { return POINT{100 + x, 100 + y}; }
};

COLORREF ScreenPixel(POINT pt)
{
    HDC hDC = ::GetDC(NULL);
    const COLORREF clr = ::GetPixel(hDC, pt.x, pt.y);
    ::ReleaseDC(NULL, hDC);
    return clr;
}

}  // namespace

TEST_F(GridMouseTest, DraggingAHeaderEdgeResizesTheColumn)
{
    // Column 1 spans x 100..160 in the client; its right edge in the header row is
    // grabbed 1 pixel inside it, or 1 pixel inside column 2 (the edge belongs to the
    // column whose far edge it is).
    struct Case
    {
        const char* name;
        int xPress, xRelease;
        bool bRightButtonCancels;
        int nExpected;  // -1: nothing applied
    } cases[] = {
        {"wider by 30", 159, 189, false, 90},
        {"grabbed in the next column", 161, 131, false, 30},
        {"past the near edge gives 0", 159, 60, false, 0},
        {"right button cancels, keeps the change", 159, 179, true, 80},
        {"released where pressed", 159, 159, false, -1},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        m_grid.m_arrApplied.clear();
        PumpFor(::GetDoubleClickTime() + 20);  // each press a single click
        m_grid.UpdateWindow();
        const COLORREF clrLine[2] = {ScreenPixel(Screen(180, 100)), ScreenPixel(Screen(180, 101))};
        SendMouse(Screen(c.xPress, 10), 0);
        SendMouse(Screen(c.xPress, 10), MOUSEEVENTF_LEFTDOWN);
        EXPECT_EQ(CExtGridBaseWnd::__EGBWA_TRACKING_COLUMN_RESIZE, m_grid.GetTrackingMode());
        EXPECT_EQ(m_grid.m_hWnd, ::GetCapture());
        SendMouse(Screen((c.xPress + c.xRelease) / 2, 12), 0);
        SendMouse(Screen(c.xRelease, 12), 0);
        if (c.bRightButtonCancels)
        {
            // The tracker line stands at the new far edge (x 180) over the data area: an
            // inverted pattern changes one of two neighbouring pixels, the cancel puts
            // both back.
            const POINT ptLine[2] = {Screen(180, 100), Screen(180, 101)};
            EXPECT_TRUE(ScreenPixel(ptLine[0]) != clrLine[0] || ScreenPixel(ptLine[1]) != clrLine[1]);
            SendRightClick(Screen(c.xRelease, 12));
            EXPECT_EQ(0, m_grid.GetTrackingMode());
            EXPECT_EQ(clrLine[0], ScreenPixel(ptLine[0]));
            EXPECT_EQ(clrLine[1], ScreenPixel(ptLine[1]));
        }
        SendMouse(Screen(c.xRelease, 12), MOUSEEVENTF_LEFTUP);
        PumpPending();
        EXPECT_EQ(0, m_grid.GetTrackingMode());
        if (c.nExpected < 0)
        {
            EXPECT_TRUE(m_grid.m_arrApplied.empty());
            continue;
        }
        ASSERT_EQ(1u, m_grid.m_arrApplied.size());
        EXPECT_TRUE(m_grid.m_arrApplied[0].bColumn);
        EXPECT_EQ(1, m_grid.m_arrApplied[0].nIndex);
        EXPECT_EQ(c.nExpected, m_grid.m_arrApplied[0].nExtent);
    }
    // The left edge of column 0 starts nothing: a press there selects by the mode.
    m_grid.m_arrApplied.clear();
    PumpFor(::GetDoubleClickTime() + 20);
    SendMouse(Screen(41, 30), MOUSEEVENTF_LEFTDOWN);
    SendMouse(Screen(41, 30), MOUSEEVENTF_LEFTUP);
    EXPECT_EQ(0, m_grid.GetTrackingMode());
    EXPECT_TRUE(m_grid.m_arrApplied.empty());
    EXPECT_EQ(0, m_grid.FocusGet().x);
    EXPECT_EQ(0, m_grid.FocusGet().y);
}

void SendKey(WORD nKey, bool bUp)
{
    INPUT in = {};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = nKey;
    in.ki.dwFlags = bUp ? KEYEVENTF_KEYUP : 0;
    ::SendInput(1, &in, sizeof(in));
    // The key state follows the input a little later.
    for (int i = 0; i < 400 && (::GetAsyncKeyState(nKey) < 0) == bUp; i++)
        ::Sleep(5);
}

TEST_F(GridMouseTest, ClicksAndDragsSelectByTheModeAndTheKeys)
{
    typedef CExtGridBaseWnd G;
    const DWORD dwRange = G::GRID_MULTI_ROWS | G::GRID_MULTI_COLUMNS;
    struct Click
    {
        int nCol, nRow;  // -1: the header of that band
        WORD nKey;       // held during the click
        int nDragCol, nDragRow;
    };
    struct Case
    {
        const char* name;
        DWORD dwStyle;
        std::vector<Click> clicks;
        const char* szAreas;
        POINT ptFocus;
    } cases[] = {
        {"a cell", G::GRID_SELECT_CELLS, {{2, 3, 0, -2, 0}}, "(2,3,2,3)", {2, 3}},
        {"Ctrl without several areas replaces", G::GRID_SELECT_CELLS | dwRange,
         {{1, 1, 0, -2, 0}, {2, 3, VK_CONTROL, -2, 0}}, "(2,3,2,3)", {2, 3}},
        {"Ctrl adds an area", G::GRID_SELECT_CELLS | dwRange | G::GRID_MULTI_AREAS,
         {{1, 1, 0, -2, 0}, {2, 3, VK_CONTROL, -2, 0}}, "(1,1,1,1)(2,3,2,3)", {2, 3}},
        {"Shift stretches the last area", G::GRID_SELECT_CELLS | dwRange | G::GRID_MULTI_AREAS,
         {{1, 1, 0, -2, 0}, {3, 4, VK_SHIFT, -2, 0}}, "(1,1,3,4)", {3, 4}},
        {"a row header selects the row", G::GRID_SELECT_ROWS | G::GRID_SELECT_BY_ROW_HEADER,
         {{-1, 4, 0, -2, 0}}, "(0,4,4,4)", {-1, 4}},
        {"a column header selects the column", G::GRID_SELECT_COLUMNS | G::GRID_SELECT_BY_COLUMN_HEADER,
         {{2, -1, 0, -2, 0}}, "(2,0,2,9)", {2, -1}},
        {"a drag over cells", G::GRID_SELECT_CELLS | dwRange | G::GRID_DRAG_SELECT, {{1, 1, 0, 3, 2}}, "(1,1,3,2)",
         {3, 2}},
        {"a drag over row headers", G::GRID_SELECT_ROWS | G::GRID_MULTI_ROWS | G::GRID_SELECT_BY_ROW_HEADER |
                                        G::GRID_DRAG_SELECT,
         {{-1, 2, 0, -1, 5}}, "(0,2,4,5)", {-1, 5}},
    };
    auto at = [](int nCol, int nRow) { return Screen(nCol < 0 ? 20 : 70 + 60 * nCol, nRow < 0 ? 10 : 30 + 20 * nRow); };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        m_grid.ModifyScrollItemStyle(c.dwStyle, 0xFFFFFFF0u & ~0x0Fu & ~(G::GRID_RESIZE_COLUMNS_OUTER), false);
        m_grid.SelectionUnset(false, false);
        m_grid.FocusUnset(false);
        PumpFor(::GetDoubleClickTime() + 20);
        for (const Click& k : c.clicks)
        {
            if (k.nKey != 0)
                SendKey(k.nKey, false);
            if (k.nKey != 0)
            {
                // The display's own pointer events carry its modifier state, in which the
                // injected key is up: a click with a key goes to the window directly.
                POINT pt = at(k.nCol, k.nRow);
                ::ScreenToClient(m_grid.m_hWnd, &pt);
                m_grid.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(pt.x, pt.y));
                m_grid.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(pt.x, pt.y));
            }
            else
            {
                SendMouse(at(k.nCol, k.nRow), 0);
                SendMouse(at(k.nCol, k.nRow), MOUSEEVENTF_LEFTDOWN);
                if (k.nDragCol > -2)
                    SendMouse(at(k.nDragCol, k.nDragRow), 0);
                SendMouse(k.nDragCol > -2 ? at(k.nDragCol, k.nDragRow) : at(k.nCol, k.nRow), MOUSEEVENTF_LEFTUP);
            }
            if (k.nKey != 0)
                SendKey(k.nKey, true);
            PumpPending();
        }
        std::string sAreas;
        for (int i = 0; i < m_grid.SelectionGetAreaCount(); i++)
        {
            const RECT rc = m_grid.SelectionGet(true, i);
            char sz[48];
            sprintf(sz, "(%ld,%ld,%ld,%ld)", rc.left, rc.top, rc.right, rc.bottom);
            sAreas += sz;
        }
        EXPECT_EQ(c.szAreas, sAreas);
        EXPECT_EQ(c.ptFocus.x, m_grid.FocusGet().x);
        EXPECT_EQ(c.ptFocus.y, m_grid.FocusGet().y);
        EXPECT_EQ(0, m_grid.GetTrackingMode());
    }
}

TEST_F(GridMouseTest, HoverHighlightsTheCellAndEndsWhenTheMouseLeaves)
{
    m_grid.ModifyScrollItemStyleEx(CExtGridBaseWnd::GRID_EX_HOVER_INNER | 0x40, 0, false);
    // Data cell (2, 3): x 160..220, y 80..100.
    SendMouse(Screen(190, 90), 0);
    ASSERT_TRUE(PumpUntil([&] { return m_grid.GetHoverHitTest().m_nColNo == 2; }, 1000));
    EXPECT_EQ(3, m_grid.GetHoverHitTest().m_nRowNo);
    EXPECT_TRUE(m_grid.GetHoverHitTest().IsInner());
    EXPECT_EQ(m_grid.m_hWnd, ::GetCapture());
    m_grid.UpdateWindow();
    // The paint reaches the screen when the display takes the window's bits, which no
    // message tells: the waits are for the pixels checked after them.
    PumpUntil([&] {
        return ScreenPixel(Screen(190, 90)) == m_grid.GetBrushColor(1) &&
               ScreenPixel(Screen(190, 110)) == ::GetSysColor(COLOR_WINDOW);
    });
    EXPECT_EQ(m_grid.GetBrushColor(1), ScreenPixel(Screen(190, 90)));
    EXPECT_EQ(::GetSysColor(COLOR_WINDOW), ScreenPixel(Screen(190, 110)));
    // Out of the window: the capture sees it go, the highlight goes with it.
    SendMouse(Screen(600, 90), 0);
    ASSERT_TRUE(PumpUntil([&] { return m_grid.GetHoverHitTest().IsEmpty(); }, 1000));
    EXPECT_NE(m_grid.m_hWnd, ::GetCapture());
    m_grid.UpdateWindow();
    PumpUntil([&] { return ScreenPixel(Screen(190, 90)) == ::GetSysColor(COLOR_WINDOW); });
    EXPECT_EQ(::GetSysColor(COLOR_WINDOW), ScreenPixel(Screen(190, 90)));
}

TEST_F(GridMouseTest, DelayedPopupWaitsAndRestartsOnAnotherCell)
{
    m_grid.ModifyScrollItemStyleEx(CExtGridBaseWnd::GRID_EX_EXPAND_DELAY_INNER, 0, false);
    SendMouse(Screen(70, 30), 0);  // cell (0, 0)
    ASSERT_TRUE(PumpUntilIdle([&] { return !m_grid.m_arrDelays.empty(); }));
    SendMouse(Screen(130, 30), 0);  // cell (1, 0) before the delay ran out
    ASSERT_TRUE(PumpUntil([&] { return m_grid.m_arrDelays.size() >= 3; }, 1500));
    // No fourth start: a delay timer left running would fire again within its period,
    // before a timer set now for longer than that.
    ASSERT_TRUE(PumpPastTimer(m_grid.m_arrDelays[1].second + 50));
    const auto& d = m_grid.m_arrDelays;
    ASSERT_EQ(3u, d.size());
    const int expected[3][3] = {{0, 0, 200}, {1, 0, 200}, {1, 0, 0}};
    for (int i = 0; i < 3; i++)
    {
        SCOPED_TRACE(i);
        EXPECT_EQ(expected[i][0], d[i].first.x);
        EXPECT_EQ(expected[i][1], d[i].first.y);
        EXPECT_EQ((UINT)expected[i][2], d[i].second);
    }
}

TEST(GridContentExpand, ACutOffCellShowsInFullOverItsPlace)
{
    HWND hParent = ::CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 100, 100, 420, 300, NULL, NULL, NULL,
                                     NULL);
    CExtGridWnd grid;
    ASSERT_TRUE(grid.Create(CWnd::FromHandle(hParent), CRect(0, 0, 420, 300), 1, 0xA, WS_CHILD | WS_VISIBLE));
    grid.SetDefaultRowExtent(20, false);
    grid.InsertColumns(0, 2, false);
    grid.InsertRows(0, 2, false);
    const char* texts[2] = {"Short", "A text far wider than the sixty pixels of its column"};
    for (int c = 0; c < 2; c++)
        grid.GridCellGet(c, 0, 0, 0, RUNTIME_CLASS(CExtGridCellString))->TextSet(texts[c]);
    grid.UpdateScrollBars();
    ::SetActiveWindow(hParent);
    struct Case
    {
        const char* name;
        POINT pt;  // client
        bool bShown;
    } cases[] = {
        {"the cut-off cell", {90, 10}, true},
        {"a cell that fits", {30, 10}, false},
        {"an empty cell", {90, 30}, false},
        {"back to the cut-off cell", {80, 12}, true},
    };
    // The popup alone, and with the hover highlight whose cell changes with it.
    const DWORD arrStyles[2] = {CExtGridBaseWnd::GRID_EX_EXPAND_NOW_INNER,
                                CExtGridBaseWnd::GRID_EX_EXPAND_NOW_INNER | CExtGridBaseWnd::GRID_EX_HOVER_INNER | 0x40};
    for (DWORD dwStyleEx : arrStyles)
    {
        grid.ModifyScrollItemStyleEx(dwStyleEx, 0xFFFFFFFFu, false);
        for (const Case& c : cases)
        {
            SCOPED_TRACE(testing::Message() << c.name << ", style " << std::hex << dwStyleEx);
            SendMouse(POINT{100 + c.pt.x, 100 + c.pt.y}, 0);
            // The grid shows or hides the popup as it handles the move, and the move is
            // handled once the queue has run dry of input.
            PumpUntilIdle([&] {
                const HWND h = grid.m_wndContentExpand.GetSafeHwnd();
                return (h != NULL && ::IsWindowVisible(h)) == c.bShown;
            });
            HWND hPopup = grid.m_wndContentExpand.GetSafeHwnd();
            const bool bShown = hPopup != NULL && ::IsWindowVisible(hPopup);
            EXPECT_EQ(c.bShown, bShown);
            if (!bShown || !c.bShown)
                continue;
            // Over the cell's own place, wider than the column.
            RECT rcPopup;
            ::GetWindowRect(hPopup, &rcPopup);
            EXPECT_LE(rcPopup.left, 100 + 60 + 2);
            EXPECT_GT(rcPopup.right - rcPopup.left, 60);
            EXPECT_EQ(1, grid.GetPopupHitTest().m_nColNo);
        }
        SendMouse(POINT{700, 500}, 0);
        PumpUntilIdle([&] {
            const HWND h = grid.m_wndContentExpand.GetSafeHwnd();
            return h == NULL || !::IsWindowVisible(h);
        });
        EXPECT_TRUE(grid.m_wndContentExpand.GetSafeHwnd() == NULL ||
                    !::IsWindowVisible(grid.m_wndContentExpand.GetSafeHwnd()));
    }
    grid.DestroyWindow();
    ::DestroyWindow(hParent);
}

// A click on an expanded cell is the grid's, judged where the hand made it: the popup hands
// the grid the click's own point, whatever the pointer does before the grid's thread takes
// it (the thread is held: it takes nothing until the hand is done).
TEST(GridContentExpand, AClickOnTheExpandedCellIsJudgedWhereTheHandMadeIt)
{
    HWND hParent = ::CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 100, 100, 420, 300, NULL, NULL, NULL,
                                     NULL);
    CExtGridWnd grid;
    ASSERT_TRUE(grid.Create(CWnd::FromHandle(hParent), CRect(0, 0, 420, 300), 1,
                            0xA | CExtGridBaseWnd::GRID_SELECT_CELLS, WS_CHILD | WS_VISIBLE));
    grid.SetDefaultRowExtent(20, false);
    grid.InsertColumns(0, 2, false);
    grid.InsertRows(0, 3, false);
    grid.GridCellGet(1, 0, 0, 0, RUNTIME_CLASS(CExtGridCellString))
        ->TextSet("A text far wider than the sixty pixels of its column");
    grid.UpdateScrollBars();
    grid.ModifyScrollItemStyleEx(CExtGridBaseWnd::GRID_EX_EXPAND_NOW_INNER, 0xFFFFFFFFu, false);
    // A click only moves the focus: no in-place editor opens.
    grid.ModifyBehaviorStyle(0, CExtGridWnd::__EGBS_EDIT_ON_CLICK | CExtGridWnd::__EGBS_EDIT_ON_CLICK_FOCUS_ONLY |
                                    CExtGridWnd::__EGBS_EDIT_ON_DBLCLICK, false);
    grid.FocusSet(POINT{0, 1}, false, false, true, false);
    ::SetActiveWindow(hParent);
    const POINT ptExpanded = {100 + 90, 100 + 10}, ptElsewhere = {100 + 30, 100 + 50};  // cells (1, 0), (0, 2)
    SendMouse(ptExpanded, 0);
    ASSERT_TRUE(PumpUntilIdle([&] {
        const HWND h = grid.m_wndContentExpand.GetSafeHwnd();
        return h != NULL && ::IsWindowVisible(h);
    }));
    RECT rcPopup;
    ::GetWindowRect(grid.m_wndContentExpand.GetSafeHwnd(), &rcPopup);
    ASSERT_TRUE(::PtInRect(&rcPopup, ptExpanded));
    testsupport::SendMouse(MOUSEEVENTF_LEFTDOWN, ptExpanded);
    testsupport::SendMouse(MOUSEEVENTF_LEFTUP, ptExpanded);
    testsupport::SendMouse(0, ptElsewhere);
    EXPECT_TRUE(PumpUntilIdle());
    EXPECT_EQ(1, grid.FocusGet().x);
    EXPECT_EQ(0, grid.FocusGet().y);
    SendMouse(POINT{700, 500}, 0);
    grid.DestroyWindow();
    ::DestroyWindow(hParent);
}
