// The splitter's exact pane and bar rectangles, its kept proportion or second-pane size
// across resizes, clamping, single-pane mode and dragging; the container bar's caption,
// close button geometry and notification, and its hosted child.
#include "pages_test_util.h"
#include "real_input.h"
#include "support/message_pump.h"
#include "app/container_bar.h"
#include "app/splitter.h"
#include "support/dib_canvas.h"
#include <memory>

using testsupport::DibCanvas;

namespace {

// What a window shows on the screen, its client area in a canvas.
std::unique_ptr<DibCanvas> CaptureClient(HWND hWnd)
{
    RECT rc;
    ::GetClientRect(hWnd, &rc);
    std::unique_ptr<DibCanvas> canvas(new DibCanvas(rc.right, rc.bottom));
    HDC hDC = ::GetDC(hWnd);
    ::BitBlt(canvas->Dc(), 0, 0, rc.right, rc.bottom, hDC, 0, 0, SRCCOPY);
    ::ReleaseDC(hWnd, hDC);
    return canvas;
}

CRect ChildRect(HWND hChild)
{
    CRect rc;
    ::GetWindowRect(hChild, &rc);
    ::MapWindowPoints(NULL, ::GetParent(hChild), (POINT*)&rc, 2);
    return rc;
}

class SplitterTest : public pagestest::PagesTest
{
protected:
    void Make(bool bVertical, DWORD nKeepMode = CExtSplitter::KEEP_PROPORTION)
    {
        m_splitter.m_bVertical = bVertical;
        m_splitter.m_nKeepMode = nKeepMode;
        ASSERT_TRUE(m_splitter.Create(WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, CRect(0, 0, 0, 0), &m_host, 331));
        for (int i = 0; i < 2; ++i) {
            ASSERT_TRUE(m_pane[i].Create("", WS_CHILD | WS_VISIBLE, CRect(0, 0, 10, 10), &m_splitter, 100 + i));
            m_splitter.m_hWndPane[i] = m_pane[i].GetSafeHwnd();
        }
        m_splitter.MoveWindow(0, 0, 400, 300);
        m_nBar = ::GetSystemMetrics(bVertical ? SM_CXFRAME : SM_CYFRAME);
        m_nMin = 2 * ::GetSystemMetrics(bVertical ? SM_CXEDGE : SM_CYEDGE);
    }

    CExtSplitter m_splitter;
    CStatic m_pane[2];
    int m_nBar = 0;
    int m_nMin = 0;
};

TEST_F(SplitterTest, SideBySidePanesAndBarHaveExactRectangles)
{
    Make(true);
    EXPECT_EQ(m_nBar, m_splitter.m_nBarSize);
    EXPECT_EQ(0, m_splitter.m_nBarExtra);
    EXPECT_EQ(m_nMin, m_splitter.m_nMinPane);
    EXPECT_EQ(CRect(0, 0, 400, 300), CRect(m_splitter.m_rcLayout));

    EXPECT_TRUE(m_splitter.SetPosition(100, true));
    CRect rcBar;
    ASSERT_TRUE(m_splitter.GetBarRect(&rcBar));
    EXPECT_EQ(CRect(100, 0, 100 + m_nBar, 300), rcBar);
    EXPECT_EQ(CRect(0, 0, 100, 300), ChildRect(m_pane[0].GetSafeHwnd()));
    EXPECT_EQ(CRect(100 + m_nBar, 0, 400, 300), ChildRect(m_pane[1].GetSafeHwnd()));
    EXPECT_TRUE(m_splitter.HitTestBar(100, 5));
    EXPECT_TRUE(m_splitter.HitTestBar(100 + m_nBar - 1, -1));
    EXPECT_FALSE(m_splitter.HitTestBar(99, 5));
    EXPECT_FALSE(m_splitter.HitTestBar(100 + m_nBar, 5));
    EXPECT_FALSE(m_splitter.HitTestBar(100, 300));
    EXPECT_FALSE(m_splitter.SetPosition(100, true)) << "the same position is no change";
}

TEST_F(SplitterTest, StackedPanesAreMeasuredAlongY)
{
    Make(false);
    m_splitter.SetPosition(65 * 300 / 100, true);
    EXPECT_EQ(CRect(0, 0, 400, 195), ChildRect(m_pane[0].GetSafeHwnd()));
    EXPECT_EQ(CRect(0, 195 + m_nBar, 400, 300), ChildRect(m_pane[1].GetSafeHwnd()));
    EXPECT_TRUE(m_splitter.HitTestBar(-1, 195));
    EXPECT_FALSE(m_splitter.HitTestBar(-1, 194));
}

TEST_F(SplitterTest, TheProportionIsKeptAcrossResizesWithoutDrift)
{
    Make(true);
    const int U = 400 - m_nBar;
    m_splitter.SetPosition(U * 30 / 100, true);
    const int nKeep = m_splitter.m_nKeep;
    EXPECT_EQ(::MulDiv(U * 30 / 100, 10000, U), nKeep);
    const int widths[] = {600, 333, 1000, 250, 400, 777, 400};
    for (int cx : widths) {
        m_splitter.MoveWindow(0, 0, cx, 300);
        const int u = cx - m_nBar;
        EXPECT_EQ(nKeep, m_splitter.m_nKeep) << cx;
        EXPECT_EQ(::MulDiv(nKeep, u, 10000), m_splitter.m_nPosition) << cx;
        EXPECT_EQ(CRect(0, 0, ::MulDiv(nKeep, u, 10000), 300), ChildRect(m_pane[0].GetSafeHwnd())) << cx;
    }
}

TEST_F(SplitterTest, TheSecondPaneKeepsItsSizeInThatMode)
{
    Make(true, CExtSplitter::KEEP_SECOND_PANE);
    m_splitter.SetPosition(250, true);
    const int nSecond = 400 - (250 + m_nBar);
    EXPECT_EQ(nSecond, m_splitter.m_nKeep);
    const int widths[] = {600, 380, 900};
    for (int cx : widths) {
        m_splitter.MoveWindow(0, 0, cx, 300);
        EXPECT_EQ(nSecond, ChildRect(m_pane[1].GetSafeHwnd()).Width()) << cx;
        EXPECT_EQ(cx - m_nBar - nSecond, m_splitter.m_nPosition) << cx;
    }
}

TEST_F(SplitterTest, PositionsAreClampedAndMinusOneCentres)
{
    Make(true);
    m_splitter.SetPosition(1, true);
    EXPECT_EQ(m_nMin, m_splitter.m_nPosition) << "below the minimum snaps to the minimum";
    m_splitter.SetPosition(5000, true);
    EXPECT_EQ(400 - m_nBar - m_nMin, m_splitter.m_nPosition);
    m_splitter.SetPosition(-1, true);
    EXPECT_EQ((400 - m_nBar) / 2, m_splitter.m_nPosition);
    m_splitter.SetPosition(50, true);
    m_splitter.SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(51, 10));
    EXPECT_EQ((400 - m_nBar) / 2, m_splitter.m_nPosition) << "a double click centres the bar";
}

// Each pane keeps its minimum whatever sets the position; a layout too short for both
// leaves the firm pane its minimum. Stacked, 300 high: U = 300 - bar.
TEST_F(SplitterTest, PanesKeepTheirMinimumsAndTheFirmPaneWinsWhenBothDoNotFit)
{
    Make(false);
    const int U = 300 - m_nBar;
    const int nDblClk = 1 << 20;  // the request is a double-click on the bar
    struct Case
    {
        const char* name;
        int nMin0, nMin1, nFirm;
        int nRequest;  // -1: the middle
        int nExpected;
    } cases[] = {
        {"inside both", 100, 18, 0, 150, 150},
        {"below the first", 100, 18, 0, 1, 100},
        {"past the second", 100, 18, 0, 5000, U - 18},
        {"the middle inside", 100, 18, 0, -1, U / 2},
        {"the middle below the first", 200, 18, 0, -1, 200},
        {"a double-click below the first", 200, 18, 0, nDblClk, 200},
        {"the middle past the second", 18, 200, 1, -1, U - 200},
        {"too short, the first firm", 250, 100, 0, 150, 250},
        {"too short, the second firm", 250, 100, 1, 150, U - 100},
        {"the first longer than all", 400, 0, 0, 10, U},
        {"the second longer than all", 0, 400, 1, 280, 0},
        {"no minimums: the edges", 0, 0, 0, 1, m_nMin},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        m_splitter.SetPaneMinimums(c.nMin0, c.nMin1, c.nFirm);
        if (c.nRequest == nDblClk)
            m_splitter.SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(10, m_splitter.m_nPosition + 1));
        else
            m_splitter.SetPosition(c.nRequest, true);
        EXPECT_EQ(c.nExpected, m_splitter.m_nPosition);
        EXPECT_EQ(c.nExpected, ChildRect(m_pane[0].GetSafeHwnd()).Height());
    }
}

// A resize clamps the kept proportion without changing it: the old split comes back
// when the layout grows again, and a minimum set later clamps a position already set.
TEST_F(SplitterTest, AResizeClampsTheKeptProportionWithoutDrift)
{
    Make(false);
    m_splitter.SetPosition((300 - m_nBar) / 2, true);
    const int nKeep = m_splitter.m_nKeep;
    m_splitter.SetPaneMinimums(120, 18, 0);
    struct Step
    {
        int cy, nExpected;
    } steps[] = {
        {280, ::MulDiv(nKeep, 280 - m_nBar, 10000)},
        {130, 120},         // too short for both: the first pane is firm
        {100, 100 - m_nBar},  // shorter than the firm minimum: all there is
        {300, ::MulDiv(nKeep, 300 - m_nBar, 10000)},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.cy);
        m_splitter.MoveWindow(0, 0, 400, step.cy);
        EXPECT_EQ(step.nExpected, m_splitter.m_nPosition);
        EXPECT_EQ(nKeep, m_splitter.m_nKeep);
    }
    m_splitter.SetPosition(20, true);
    EXPECT_EQ(120, m_splitter.m_nPosition);
    m_splitter.SetPaneMinimums(0, 0, 0);
    m_splitter.SetPosition(20, true);
    m_splitter.SetPaneMinimums(50, 0, 0);
    EXPECT_EQ(50, m_splitter.m_nPosition) << "a new minimum clamps the position at once";
    EXPECT_EQ(50, ChildRect(m_pane[0].GetSafeHwnd()).Height());
}

TEST_F(SplitterTest, OnePaneAloneFillsTheLayoutAndBothAgainRestoreThePosition)
{
    Make(true);
    m_splitter.SetPosition(120, true);
    EXPECT_FALSE(m_splitter.ShowPane(2));
    ASSERT_TRUE(m_splitter.ShowPane(1));
    EXPECT_FALSE(m_pane[0].IsWindowVisible());
    EXPECT_TRUE(m_pane[1].IsWindowVisible());
    EXPECT_EQ(1, m_splitter.m_nSinglePane);
    EXPECT_EQ(1, m_splitter.m_nFocusPane);
    EXPECT_EQ(CRect(0, 0, 400, 300), ChildRect(m_pane[1].GetSafeHwnd()));
    CRect rc;
    EXPECT_FALSE(m_splitter.GetBarRect(&rc));
    EXPECT_FALSE(m_splitter.GetPaneRect(0, &rc));
    EXPECT_FALSE(m_splitter.HitTestBar(120, 5));
    // The bar does not react to the mouse.
    m_splitter.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(121, 10));
    EXPECT_NE(m_splitter.GetSafeHwnd(), ::GetCapture());

    ASSERT_TRUE(m_splitter.ShowPane(-1));
    EXPECT_TRUE(m_pane[0].IsWindowVisible());
    EXPECT_EQ(120, m_splitter.m_nPosition);
    EXPECT_EQ(CRect(0, 0, 120, 300), ChildRect(m_pane[0].GetSafeHwnd()));
}

TEST_F(SplitterTest, DraggingTheBarMovesThePanesWithinTheLimits)
{
    Make(true);
    m_splitter.m_bFullDrag = true;
    m_splitter.SetPosition(100, true);
    m_splitter.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(102, 50));
    ASSERT_EQ(m_splitter.GetSafeHwnd(), ::GetCapture());
    EXPECT_EQ(2, m_splitter.m_nDragOffset);
    m_splitter.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(182, 50));
    EXPECT_EQ(180, m_splitter.m_nPosition);
    EXPECT_EQ(CRect(0, 0, 180, 300), ChildRect(m_pane[0].GetSafeHwnd()));
    m_splitter.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(399, 50));
    EXPECT_EQ(400 - m_nBar - m_nMin, m_splitter.m_nPosition);
    m_splitter.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(399, 50));
    EXPECT_NE(m_splitter.GetSafeHwnd(), ::GetCapture());
    // The drag recomputed the proportion.
    EXPECT_EQ(::MulDiv(m_splitter.m_nPosition, 10000, 400 - m_nBar), m_splitter.m_nKeep);
}

TEST_F(SplitterTest, WithoutFullDragThePanesMoveWhenTheCaptureEnds)
{
    Make(true);
    m_splitter.m_bFullDrag = false;
    m_splitter.SetPosition(100, true);
    m_splitter.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(100, 50));
    m_splitter.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(150, 50));
    EXPECT_EQ(150, m_splitter.m_nPosition);
    EXPECT_EQ(CRect(0, 0, 100, 300), ChildRect(m_pane[0].GetSafeHwnd())) << "not yet";
    m_splitter.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(150, 50));
    testsupport::PumpPending();
    EXPECT_EQ(CRect(0, 0, 150, 300), ChildRect(m_pane[0].GetSafeHwnd()));
}

TEST_F(SplitterTest, APaneWithoutAWindowIsAnEmptySunkenArea)
{
    Make(true);
    m_splitter.SetPosition(100, true);
    m_pane[1].DestroyWindow();
    m_splitter.m_hWndPane[1] = NULL;
    m_splitter.Invalidate(TRUE);
    m_splitter.UpdateWindow();
    std::unique_ptr<DibCanvas> canvas = CaptureClient(m_splitter.GetSafeHwnd());
    EXPECT_EQ(::GetSysColor(COLOR_APPWORKSPACE), canvas->Pixel(250, 150));
    EXPECT_EQ(::GetSysColor(COLOR_BTNSHADOW), canvas->Pixel(250, 0)) << "the sunken edge's top";
}

TEST_F(SplitterTest, TheBarIsPaintedInTheThemesToolbarBackground)
{
    Make(true);
    m_splitter.SetPosition(100, true);
    m_splitter.Invalidate(TRUE);
    m_splitter.UpdateWindow();
    std::unique_ptr<DibCanvas> shown = CaptureClient(m_splitter.GetSafeHwnd());
    DibCanvas expected(400, 300);
    CDC dc;
    dc.Attach(expected.Dc());
    CRect rcBar;
    ASSERT_TRUE(m_splitter.GetBarRect(&rcBar));
    g_CurrentPaintManager.GetPM()->DrawToolbarBackground(dc, rcBar, &m_splitter);
    dc.Detach();
    for (int y : {0, 150, 299}) EXPECT_EQ(expected.Pixel(100, y), shown->Pixel(100, y)) << y;
}

// The pane a press was made on becomes the focus pane, wherever the pointer has gone by
// the time the thread takes the press (it is held: nothing is taken until the hand is done).
// The splitter lies away from the screen's origin and from its host's corner, so that the
// press's screen point taken as a client one falls in the other pane or in none.
TEST_F(SplitterTest, ThePanePressedIsTheOneThePressWasMadeOn)
{
    Make(true);
    m_host.MoveWindow(150, 110, 640, 480);
    m_splitter.MoveWindow(30, 20, 400, 300);
    ::SetForegroundWindow(m_host.GetSafeHwnd());
    for (int nPane = 0; nPane < 2; ++nPane) {
        SCOPED_TRACE(nPane);
        CRect rcPressed, rcOther;
        m_pane[nPane].GetWindowRect(&rcPressed);
        m_pane[1 - nPane].GetWindowRect(&rcOther);
        realinput::SendMouse(0, rcPressed.CenterPoint());
        realinput::SendMouse(MOUSEEVENTF_LEFTDOWN, rcPressed.CenterPoint());
        realinput::SendMouse(MOUSEEVENTF_LEFTUP, rcPressed.CenterPoint());
        realinput::SendMouse(0, rcOther.CenterPoint());
        EXPECT_TRUE(testsupport::PumpUntilIdle());
        EXPECT_EQ(nPane, m_splitter.m_nFocusPane);
    }
}

TEST_F(SplitterTest, TheFocusGoesToTheFocusPaneOrTheOnlyPaneShown)
{
    Make(true);
    m_splitter.SetPosition(100, true);
    ::SetForegroundWindow(m_host.GetSafeHwnd());
    m_splitter.m_nFocusPane = 1;
    m_splitter.SetFocus();
    EXPECT_EQ(m_pane[1].GetSafeHwnd(), ::GetFocus());
    m_splitter.ShowPane(0);
    m_splitter.SetFocus();
    EXPECT_EQ(m_pane[0].GetSafeHwnd(), ::GetFocus());
}

// ---- container bar -----------------------------------------------------------------------

class ContainerBarTest : public pagestest::PagesTest
{
protected:
    void Make(bool bChild)
    {
        ASSERT_TRUE(m_bar.Create(WS_VISIBLE, CRect(0, 0, 0, 0), &m_host, 331));
        m_bar.SetWindowText("Details");
        if (bChild) {
            ASSERT_TRUE(m_child.Create("", WS_CHILD | WS_VISIBLE, CRect(0, 0, 10, 10), &m_bar, 100));
            m_bar.m_pWndChild = &m_child;
        }
        m_bar.MoveWindow(0, 0, 200, 150);
        ::SetForegroundWindow(m_host.GetSafeHwnd());
    }
    // Presses and releases the left button with the cursor over client points; with
    // ptCursorAtUp, the pointer has gone there before the release is taken.
    void Click(CPoint ptDown, CPoint ptUp, CPoint ptCursorAtUp = CPoint(-1, -1))
    {
        CPoint pt = ptDown;
        m_bar.ClientToScreen(&pt);
        ::SetCursorPos(pt.x, pt.y);
        m_bar.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(ptDown.x, ptDown.y));
        pt = ptCursorAtUp.x < 0 ? ptUp : ptCursorAtUp;
        m_bar.ClientToScreen(&pt);
        ::SetCursorPos(pt.x, pt.y);
        m_bar.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(ptUp.x, ptUp.y));
    }

    CExtContainerBar m_bar;
    CStatic m_child;
};

// Records the close notifications the host receives.
struct CloseRecorder : public CWnd
{
    std::vector<std::pair<WPARAM, LPARAM>> m_calls;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == CExtContainerBar::g_nMsgNotifyBtnClose) {
            m_calls.push_back({wParam, lParam});
            return 0;
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

TEST_F(ContainerBarTest, TheChildFillsTheAreaBelowTheCaption)
{
    Make(true);
    EXPECT_EQ(CRect(0, 18, 200, 150), ChildRect(m_child.GetSafeHwnd()));
    CRect rcClose;
    m_bar.GetCloseButtonRect(NULL, &rcClose);
    EXPECT_EQ(CRect(185, 3, 197, 15), rcClose);
    m_bar.ShowWindow(SW_HIDE);
    EXPECT_FALSE(::IsWindowVisible(m_child.GetSafeHwnd()));
    EXPECT_FALSE(m_child.GetStyle() & WS_VISIBLE);
    m_bar.ShowWindow(SW_SHOW);
    EXPECT_TRUE(m_child.GetStyle() & WS_VISIBLE);
}

TEST_F(ContainerBarTest, ReleasingOverTheCloseButtonNotifiesTheOwner)
{
    Make(true);
    CloseRecorder recorder;
    ASSERT_TRUE(recorder.CreateEx(0, AfxRegisterWndClass(0), "rec", WS_POPUP, 0, 0, 1, 1, NULL, NULL));
    Click(CPoint(190, 8), CPoint(190, 8));  // no notify window: nothing is sent
    EXPECT_TRUE(recorder.m_calls.empty());

    m_bar.m_pWndNotify = &recorder;
    Click(CPoint(190, 8), CPoint(60, 60));  // released outside the button
    EXPECT_TRUE(recorder.m_calls.empty());
    EXPECT_FALSE(m_bar.m_bPressed);

    Click(CPoint(190, 8), CPoint(191, 9), CPoint(600, 400));  // the pointer gone on since
    ASSERT_EQ(1u, recorder.m_calls.size());
    EXPECT_EQ((WPARAM)m_bar.GetSafeHwnd(), recorder.m_calls[0].first);
    EXPECT_EQ(331, (int)recorder.m_calls[0].second);
    recorder.DestroyWindow();
}

TEST_F(ContainerBarTest, LeavingTheBarWhileTheButtonIsHeldClearsThePressedLook)
{
    Make(true);
    CPoint pt(190, 8);
    m_bar.ClientToScreen(&pt);
    ::SetCursorPos(pt.x, pt.y);
    m_bar.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(190, 8));
    m_bar.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(190, 8));
    EXPECT_TRUE(m_bar.m_bPressed);
    EXPECT_TRUE(m_bar.m_bHover);
    EXPECT_EQ(m_bar.GetSafeHwnd(), ::GetCapture());
    ::SetCursorPos(pt.x + 400, pt.y + 400);
    m_bar.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(590, 408));
    EXPECT_FALSE(m_bar.m_bPressed);
    EXPECT_FALSE(m_bar.m_bHover);
    EXPECT_NE(m_bar.GetSafeHwnd(), ::GetCapture());
}

TEST_F(ContainerBarTest, LosingTheCaptureClearsHoverAndPressed)
{
    Make(true);
    CPoint pt(190, 8);
    m_bar.ClientToScreen(&pt);
    ::SetCursorPos(pt.x, pt.y);
    m_bar.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(190, 8));
    m_bar.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(190, 8));
    ASSERT_EQ(m_bar.GetSafeHwnd(), ::GetCapture());
    m_host.SetCapture();
    EXPECT_FALSE(m_bar.m_bPressed);
    EXPECT_FALSE(m_bar.m_bHover);
    ::ReleaseCapture();
}

TEST_F(ContainerBarTest, TheCaptionAndABarWithoutChildAreThemed)
{
    Make(false);
    m_bar.Invalidate(TRUE);
    m_bar.UpdateWindow();
    std::unique_ptr<DibCanvas> shown = CaptureClient(m_bar.GetSafeHwnd());
    CExtPaintManager* pPM = g_CurrentPaintManager.GetPM();
    ASSERT_TRUE(pPM != NULL);
    EXPECT_EQ(pPM->LookupColor(COLOR_INACTIVECAPTION, &m_bar), shown->Pixel(1, 1));
    // Below the caption: the theme's toolbar background, as the theme paints it.
    DibCanvas expected(200, 150);
    CDC dc;
    dc.Attach(expected.Dc());
    pPM->DrawToolbarBackground(dc, CRect(0, 0, 200, 150), &m_bar);
    dc.Detach();
    for (int y : {20, 80, 149})
        for (int x : {0, 100, 199}) EXPECT_EQ(expected.Pixel(x, y), shown->Pixel(x, y)) << x << "," << y;
}

}  // namespace
