// The grid window's headers under a real mouse (SendInput on the test display): a click
// sorts by the column and shows the sort arrow, a drag moves the column or, with Esc,
// moves nothing; and the pressed header's look per theme.
//
// The press and the drag run modal loops inside the button-down handler, so the input
// comes from a second thread, step by step, while this thread pumps.
#include <gtest/gtest.h>
#include <functional>
#include <thread>
#include <vector>
#include "framework/framework.h"
#include "tests/support/dib_canvas.h"
#include "tests/support/message_pump.h"
#include "toolkit/grid/grid_cell_variant.h"
#include "toolkit/grid/grid_wnd.h"
#include "toolkit/theme/paint_manager.h"
#include "grid_wnd_test_cell.h"

using testsupport::PumpFor;
using testsupport::PumpPending;
using testsupport::PumpUntil;

namespace {

struct Step
{
    int x, y;
    DWORD dwFlags;  // MOUSEEVENTF_* beside the move, or 0; a key with bKey
    bool bKey;
};

// Where a step with kPostUp goes: a left button's up at (x, y) of that window's client
// area, posted, with no move before it.
HWND g_hPostUpTo = NULL;
const DWORD kPostUp = 0x80000000;

void SendStep(const Step& s)
{
    INPUT in = {};
    if (s.dwFlags == kPostUp)
    {
        ::PostMessageA(g_hPostUpTo, WM_LBUTTONUP, 0, MAKELPARAM(s.x, s.y));
        return;
    }
    if (s.bKey)
    {
        in.type = INPUT_KEYBOARD;
        in.ki.wVk = (WORD)s.x;
        in.ki.dwFlags = s.dwFlags;
    }
    else
    {
        in.type = INPUT_MOUSE;
        in.mi.dx = (100 + s.x) * 65535 / (::GetSystemMetrics(SM_CXSCREEN) - 1);
        in.mi.dy = (100 + s.y) * 65535 / (::GetSystemMetrics(SM_CYSCREEN) - 1);
        in.mi.dwFlags = MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE | s.dwFlags;
    }
    ::SendInput(1, &in, sizeof(in));
}

// Plays the steps 40 ms apart from another thread while this one pumps.
void Play(const std::vector<Step>& steps)
{
    volatile bool bDone = false;
    std::thread player([&] {
        for (const Step& s : steps)
        {
            ::Sleep(40);
            SendStep(s);
        }
        ::Sleep(60);
        bDone = true;
    });
    // Every step is queued once the player is done: the last is handled when the queue
    // has run dry of input and of what its handling posted. The bound is for a failure
    // only: a busy machine may take seconds.
    testsupport::PumpUntilIdle([&] { return bDone; }, 30000);
    player.join();
}

// Records what the button tracking hands to the grid's hooks.
class RecordingGrid : public CExtGridWnd
{
public:
    struct Press
    {
        ULONG nCounter;
        bool bInside, bPressedLook;
    };
    std::vector<Press> m_arrPressing;
    std::vector<INT> m_arrPressed;
    // What the application does on a repeat and on the click, after the record.
    std::function<void(CExtGridCell*)> m_fnPressing, m_fnPressed;
    bool OnGridCellButtonPressing(CExtGridCell* pCell, INT, bool bInside, ULONG nCounter, const RECT&, const RECT&,
                                  const RECT&, LONG, LONG, INT, INT) override
    {
        m_arrPressing.push_back({nCounter, bInside, (pCell->GetStyle() & CExtGridCell::__EGCS_PRESSED_UP) != 0});
        if (m_fnPressing)
            m_fnPressing(pCell);
        return true;
    }
    bool OnGridCellButtonPressed(CExtGridCell* pCell, INT nType, const RECT&, const RECT&, LONG, LONG, LONG, LONG,
                                 INT, INT) override
    {
        m_arrPressed.push_back(nType);
        if (m_fnPressed)
            m_fnPressed(pCell);
        return true;
    }
};

// Three columns 50, 70, 90 wide under one header row 20 high, four rows 20 high, in a
// visible popup at (100, 100). Column c of row r holds 10 * ((3r + c) % 4) + c.
struct GridWndMouseTest : testing::Test
{
    HWND m_hParent = NULL;
    RecordingGrid m_grid;
    void SetUp() override
    {
        m_hParent = ::CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 100, 100, 300, 140, NULL, NULL, NULL,
                                      NULL);
        ASSERT_TRUE(m_grid.Create(CWnd::FromHandle(m_hParent), CRect(0, 0, 300, 140), 1,
                                  CExtGridBaseWnd::GRID_SELECT_CELLS, WS_CHILD | WS_VISIBLE));
        m_grid.SetDefaultRowExtent(20, false);
        m_grid.SetTopOuterRowCount(1, false);
        m_grid.InsertColumns(-1, 3, false);
        m_grid.InsertRows(-1, 4, false);
        const int arrWidths[] = {50, 70, 90};
        for (int c = 0; c < 3; c++)
            m_grid.GridCellGet(c, 0, 0, -1, RUNTIME_CLASS(CGridTestCell))->SetExtent(arrWidths[c]);
        for (int r = 0; r < 4; r++)
            for (int c = 0; c < 3; c++)
                m_grid.GridCellGet(c, r, 0, 0, RUNTIME_CLASS(CGridTestCell))->SetValue32(10 * ((r * 3 + c) % 4) + c);
        m_grid.ModifyBehaviorStyle(CExtGridWnd::__EGBS_SORT_BY_TOP, 0, false);
        m_grid.UpdateScrollBars();
        ::SetActiveWindow(m_hParent);
        ::SetFocus(m_grid.m_hWnd);
        Play({{250, 130, 0, false}});
    }
    void TearDown() override
    {
        Play({{250, 130, 0, false}});
        m_grid.DestroyWindow();
        ::DestroyWindow(m_hParent);
    }
    std::string Row(int r)
    {
        std::string s;
        for (int c = 0; c < m_grid.GetColumnCount(); c++)
            s += (c ? "," : "") + std::to_string(m_grid.GridCellGet(c, r)->GetValue32());
        return s;
    }
};

}  // namespace

TEST_F(GridWndMouseTest, HeaderClicksSortAndShowTheArrow)
{
    struct Case
    {
        const char* name;
        int x;
        const char* szRow0;
        DWORD dwArrow1, dwArrow2;  // sort bits of the header cells of columns 1 and 2
    } cases[] = {
        {"column 1 ascending", 85, "30,1,12", 0x100000, 0},
        {"column 1 again: descending", 85, "20,31,2", 0x300000, 0},
        {"column 2 ascending", 165, "20,31,2", 0, 0x100000},
    };
    for (const Case& c : cases)
    {
        PumpFor(::GetDoubleClickTime() + 20);  // a single click each
        Play({{c.x, 10, 0, false}, {c.x, 10, MOUSEEVENTF_LEFTDOWN, false}, {c.x, 10, MOUSEEVENTF_LEFTUP, false}});
        EXPECT_EQ(c.szRow0, Row(0)) << c.name;
        EXPECT_EQ(c.dwArrow1, m_grid.GridCellGet(1, 0, 0, -1)->GetStyle() & 0x300000) << c.name;
        EXPECT_EQ(c.dwArrow2, m_grid.GridCellGet(2, 0, 0, -1)->GetStyle() & 0x300000) << c.name;
        EXPECT_EQ(nullptr, CExtGridWnd::g_pCellTrackingOuterPress) << c.name;
        EXPECT_NE(m_grid.m_hWnd, ::GetCapture()) << c.name;
    }
}

TEST_F(GridWndMouseTest, DraggingAHeaderMovesItsColumnUnlessEscCancels)
{
    struct Case
    {
        const char* name;
        int xDrop;
        bool bEsc;
        const char* szRow0;
        bool bUpAway = false;  // the button goes up there with the last move seen over the middle column
    } cases[] = {
        {"onto the right half of the last column", 200, false, "11,22,0"},
        {"onto the left half of the next column", 60, false, "11,22,0"},
        {"Esc cancels", 10, true, "11,22,0"},
        {"back before the first column", 2, false, "0,11,22"},
        {"up before the first column, last seen over the middle one", 2, false, "22,0,11", true},
    };
    g_hPostUpTo = m_grid.m_hWnd;
    for (const Case& c : cases)
    {
        PumpFor(::GetDoubleClickTime() + 20);
        // The last column is grabbed where the drop is before the first; column 0 otherwise.
        const int xGrab = c.xDrop == 2 ? 180 : 25;
        std::vector<Step> steps = {{xGrab, 10, 0, false}, {xGrab, 10, MOUSEEVENTF_LEFTDOWN, false},
                                   {xGrab + 6, 10, 0, false}, {(xGrab + c.xDrop) / 2, 11, 0, false}};
        if (c.bUpAway)
            steps.push_back({c.xDrop, 10, kPostUp, false});
        else
            steps.push_back({c.xDrop, 10, 0, false});
        if (c.bEsc)
            steps.push_back({VK_ESCAPE, 0, 0, true}), steps.push_back({VK_ESCAPE, 0, KEYEVENTF_KEYUP, true});
        steps.push_back({c.xDrop, 10, MOUSEEVENTF_LEFTUP, false});
        Play(steps);
        EXPECT_EQ(c.szRow0, Row(0)) << c.name;
        EXPECT_EQ(nullptr, CExtGridWnd::g_pCellTrackingOuterDrag) << c.name;
        EXPECT_TRUE(m_grid.GetTrackedOuterCellHitTest().IsEmpty()) << c.name;
    }
}

TEST_F(GridWndMouseTest, APressedHeaderDarkensItsColumnInEveryTheme)
{
    m_grid.ModifyScrollItemStyleEx(CExtScrollItemWnd::__ESIS_EX_PM_COLORS_FONTS, 0, false);
    m_grid.ModifyGridStyleEx(CExtGridWnd::__EGSE_PRESSED_OUTER_COLUMN, 0, false);
    CExtGridBaseWnd::HIT_TEST_INFO hti(60, 10);
    m_grid.HitTest(hti);
    ASSERT_EQ(1, hti.m_nColNo);
    CRuntimeClass* themes[] = {RUNTIME_CLASS(CExtPaintManagerXP), RUNTIME_CLASS(CExtPaintManagerOffice2003),
                               RUNTIME_CLASS(CExtPaintManagerStudio2005)};
    for (CRuntimeClass* pTheme : themes)
    {
        SCOPED_TRACE(pTheme->m_lpszClassName);
        ASSERT_TRUE(g_CurrentPaintManager.InstallPaintManagerByClass(pTheme));
        auto color = [&](int n) { return g_CurrentPaintManager->LookupColor(n, &m_grid, 0); };
        for (int bPressed = 0; bPressed < 2; bPressed++)
        {
            m_grid.GetTrackedOuterCellHitTest() = bPressed ? hti : CExtGridBaseWnd::HIT_TEST_INFO(-1, -1);
            testsupport::DibCanvas canvas(300, 140, RGB(1, 2, 3));
            CDC dc;
            dc.Attach(canvas.Dc());
            m_grid.OnPaintCells(&dc, false, NULL);
            dc.Detach();
            // Header 1 spans (50, 0) - (120, 20); its top-left pixel is the raised frame's
            // light edge unless pressed, when the whole cell is the dark shadow.
            EXPECT_EQ(bPressed ? color(COLOR_3DDKSHADOW) : color(COLOR_BTNHIGHLIGHT), canvas.Pixel(50, 0));
            EXPECT_EQ(color(COLOR_BTNHIGHLIGHT), canvas.Pixel(0, 0));  // header 0 never pressed
        }
    }
    m_grid.GetTrackedOuterCellHitTest() = CExtGridBaseWnd::HIT_TEST_INFO(-1, -1);
    g_CurrentPaintManager.InstallPaintManagerByClass(RUNTIME_CLASS(CExtPaintManagerXP));
}

TEST_F(GridWndMouseTest, AHeldCellButtonRepeatsUntilReleasedAndActsOnRelease)
{
    VARIANT var;
    var.vt = VT_I4;
    var.lVal = 5;
    CExtGridCellVariant cellSource(var);
    cellSource.ModifyStyle(CExtGridCell::__EGCS_BUTTON_UPDOWN);
    ASSERT_TRUE(m_grid.GridCellSet(2, 1, NULL, 1, 1, 0, 0, false));  // the test cell makes room
    ASSERT_TRUE(m_grid.GridCellSet(2, 1, &cellSource, 1, 1, 0, 0, false));
    ASSERT_TRUE(m_grid.GridCellGet(2, 1)->IsKindOf(RUNTIME_CLASS(CExtGridCellVariant)));
    m_grid.ModifyBehaviorStyle(CExtGridWnd::__EGBS_BUTTONS_PERSISTENT, 0, false);
    // The up button is the upper half of the pair at the right end of cell (2, 1).
    CExtGridBaseWnd::HIT_TEST_INFO hti(207, 42);
    m_grid.HitTest(hti);
    ASSERT_EQ(2, hti.m_nButtonType);
    const CPoint pt = CRect(hti.m_rcPart).CenterPoint();
    // Held for two repeats, out for one, back in and released.
    std::vector<Step> steps = {{pt.x, pt.y, 0, false}, {pt.x, pt.y, MOUSEEVENTF_LEFTDOWN, false}};
    for (int i = 0; i < 17; i++)
        steps.push_back({pt.x, pt.y, 0, false});
    for (int i = 0; i < 9; i++)
        steps.push_back({pt.x, 130, 0, false});
    steps.push_back({pt.x, pt.y, 0, false});
    steps.push_back({pt.x, pt.y, MOUSEEVENTF_LEFTUP, false});
    PumpFor(::GetDoubleClickTime() + 20);
    Play(steps);
    ASSERT_GE(m_grid.m_arrPressing.size(), 3u);
    bool bSawOutside = false;
    for (size_t i = 0; i < m_grid.m_arrPressing.size(); i++)
    {
        const RecordingGrid::Press& press = m_grid.m_arrPressing[i];
        EXPECT_EQ(i, press.nCounter) << "repeat " << i;
        EXPECT_EQ(press.bInside, press.bPressedLook) << "repeat " << i;
        bSawOutside |= !press.bInside;
    }
    EXPECT_TRUE(m_grid.m_arrPressing.front().bInside);
    EXPECT_TRUE(bSawOutside);
    ASSERT_EQ(1u, m_grid.m_arrPressed.size());
    EXPECT_EQ(2, m_grid.m_arrPressed[0]);
    EXPECT_EQ(0u, m_grid.GridCellGet(2, 1)->GetStyle() & CExtGridCell::__EGCS_PRESSED_UP);
    EXPECT_EQ(nullptr, CExtGridWnd::g_pCellTrackingButton);
}

namespace {

// Up-down cells valued 1, 1, 3, 4 in column 2, the rows sorted by it; the hit test of the
// up button of the cell in the row given.
CExtGridBaseWnd::HIT_TEST_INFO UpDownColumn(CExtGridWnd& grid, int nRow)
{
    const LONG arrValues[] = {1, 1, 3, 4};
    for (int r = 0; r < 4; r++)
    {
        VARIANT var;
        var.vt = VT_I4;
        var.lVal = arrValues[r];
        CExtGridCellVariant cellSource(var);
        cellSource.ModifyStyle(CExtGridCell::__EGCS_BUTTON_UPDOWN);
        grid.GridCellSet(2, r, NULL, 1, 1, 0, 0, false);
        grid.GridCellSet(2, r, &cellSource, 1, 1, 0, 0, false);
    }
    grid.ModifyBehaviorStyle(CExtGridWnd::__EGBS_BUTTONS_PERSISTENT, 0, false);
    CExtGridDataSortOrder order;
    CExtGridDataSortOrder::ITEM_INFO item(2, true);
    order.m_arrItems.Add(item);
    grid.SetSortOrder(false, order, false, false, false);
    CExtGridBaseWnd::HIT_TEST_INFO hti(207, 22 + 20 * nRow);
    grid.HitTest(hti);
    return hti;
}

LPARAM PartCentre(const CExtGridBaseWnd::HIT_TEST_INFO& hti)
{
    const CPoint pt = CRect(hti.m_rcPart).CenterPoint();
    return MAKELPARAM(pt.x, pt.y);
}

const DWORD kPressedBits = CExtGridCell::__EGCS_PRESSED_UP | CExtGridCell::__EGCS_PRESSED_DOWN;

}  // namespace

// A click on an up button that raises its value past the next row's: the rows sort
// again and the button is released on the cell that was pressed, now one row down.
TEST_F(GridWndMouseTest, AClickedButtonIsReleasedOnItsCellAfterTheRowsResort)
{
    const CExtGridBaseWnd::HIT_TEST_INFO hti = UpDownColumn(m_grid, 0);
    ASSERT_EQ(2, hti.m_nButtonType);
    CExtGridCell* pCell = m_grid.GridCellGet(2, 0);
    CExtGridCell* pOther = m_grid.GridCellGet(2, 1);
    m_grid.m_fnPressed = [&](CExtGridCell* p) {
        p->TextSet("2");
        m_grid.GetDataProvider()->SortApply(false, &m_grid);
    };
    ::PostMessage(m_grid.m_hWnd, WM_LBUTTONUP, 0, PartCentre(hti));
    EXPECT_TRUE(m_grid.TrackCellButton(pCell, hti));
    ASSERT_EQ(pCell, m_grid.GridCellGet(2, 1));
    EXPECT_EQ(pOther, m_grid.GridCellGet(2, 0));
    EXPECT_EQ(0u, pCell->GetStyle() & kPressedBits);
    EXPECT_EQ(0u, pOther->GetStyle() & kPressedBits);
    EXPECT_EQ(nullptr, CExtGridWnd::g_pCellTrackingButton);
}

// A repeat whose notification removes the held cell's row ends the tracking: no later
// repeat, release or click reaches the destroyed cell.
TEST_F(GridWndMouseTest, AButtonWhoseRowIsRemovedWhileHeldEndsItsTracking)
{
    const CExtGridBaseWnd::HIT_TEST_INFO hti = UpDownColumn(m_grid, 1);
    ASSERT_EQ(2, hti.m_nButtonType);
    CExtGridCell* pCell = m_grid.GridCellGet(2, 1);
    m_grid.m_fnPressing = [&](CExtGridCell*) { m_grid.RemoveRows(1, 1, false); };
    for (int i = 0; i < 2; i++)
        ::PostMessage(m_grid.m_hWnd, WM_TIMER, 651, 0);
    ::PostMessage(m_grid.m_hWnd, WM_LBUTTONUP, 0, PartCentre(hti));
    EXPECT_TRUE(m_grid.TrackCellButton(pCell, hti));
    EXPECT_EQ(1u, m_grid.m_arrPressing.size());
    EXPECT_TRUE(m_grid.m_arrPressed.empty());
    EXPECT_EQ(3, m_grid.GetRowCount());
    EXPECT_EQ(nullptr, CExtGridWnd::g_pCellTrackingButton);
    EXPECT_NE(m_grid.m_hWnd, ::GetCapture());
    PumpPending();
}

namespace {

CExtGridWnd* g_pGridToCut = NULL;
LPARAM g_lParamRelease = 0;

// While a header is pressed: its column goes, then the button is released over it.
void CALLBACK RemovePressedColumnThenRelease(HWND, UINT, UINT_PTR nId, DWORD)
{
    ::KillTimer(NULL, nId);
    g_pGridToCut->RemoveColumns(1, 1, false);
    ::PostMessage(g_pGridToCut->m_hWnd, WM_LBUTTONUP, 0, g_lParamRelease);
}

}  // namespace

// A header whose column goes while it is pressed: the press ends without the click's
// sort, and the pressed record is cleared.
TEST_F(GridWndMouseTest, AHeaderWhoseColumnIsRemovedWhilePressedDoesNotSort)
{
    CExtGridBaseWnd::HIT_TEST_INFO hti(60, 10);
    m_grid.HitTest(hti);
    ASSERT_EQ(1, hti.m_nColNo);
    CExtGridCell* pHeader = m_grid.GridCellGet(1, 0, 0, -1);
    ASSERT_TRUE(pHeader != NULL);
    CExtGridDataSortOrder order;
    CExtGridDataSortOrder::ITEM_INFO item(1, true);
    order.m_arrItems.Add(item);
    g_pGridToCut = &m_grid;
    g_lParamRelease = MAKELPARAM(60, 10);
    ::SetTimer(NULL, 0, 10, RemovePressedColumnThenRelease);
    m_grid.TrackOuterCellPress(pHeader, hti, 1, 0, false, &order, false, false);
    EXPECT_EQ(2, m_grid.GetColumnCount());
    CExtGridDataSortOrder orderNow;
    ASSERT_TRUE(m_grid.GetSortOrder(false, orderNow));
    EXPECT_TRUE(orderNow.IsEmpty());
    EXPECT_EQ(nullptr, CExtGridWnd::g_pCellTrackingOuterPress);
    EXPECT_TRUE(m_grid.GetTrackedOuterCellHitTest().IsEmpty());
    EXPECT_NE(m_grid.m_hWnd, ::GetCapture());
    PumpPending();
}

namespace {

int g_nDragStep = 0;

// While a header is dragged: first the pointer goes over the right half of the next
// column, then the dragged column goes and the button is released there.
void CALLBACK MoveThenRemoveDraggedColumn(HWND, UINT, UINT_PTR nId, DWORD)
{
    if (g_nDragStep++ == 0)
    {
        ::PostMessage(g_pGridToCut->m_hWnd, WM_MOUSEMOVE, MK_LBUTTON, g_lParamRelease);
        return;
    }
    ::KillTimer(NULL, nId);
    g_pGridToCut->RemoveColumns(0, 1, false);
    ::PostMessage(g_pGridToCut->m_hWnd, WM_LBUTTONUP, 0, g_lParamRelease);
}

}  // namespace

// A dragged header whose column goes before the drop: the drop it had lined up (here a
// move behind the next column) is not made with whatever column took its place.
TEST_F(GridWndMouseTest, ADraggedHeaderWhoseColumnIsRemovedMovesNothing)
{
    Play({{110, 10, 0, false}});  // the real pointer agrees with the posted moves
    CExtGridBaseWnd::HIT_TEST_INFO hti(25, 10);
    m_grid.HitTest(hti);
    ASSERT_EQ(0, hti.m_nColNo);
    CExtGridCell* pHeader = m_grid.GridCellGet(0, 0, 0, -1);
    ASSERT_TRUE(pHeader != NULL);
    g_pGridToCut = &m_grid;
    g_lParamRelease = MAKELPARAM(110, 10);
    g_nDragStep = 0;
    ::SetTimer(NULL, 0, 50, MoveThenRemoveDraggedColumn);
    m_grid.TrackOuterCellDrag(pHeader, hti, 1, 0);
    EXPECT_EQ(2, g_nDragStep);
    EXPECT_EQ("11,22", Row(0));
    EXPECT_EQ(nullptr, CExtGridWnd::g_pCellTrackingOuterDrag);
    EXPECT_TRUE(m_grid.GetTrackedOuterCellHitTest().IsEmpty());
    EXPECT_NE(m_grid.m_hWnd, ::GetCapture());
    PumpPending();
}
