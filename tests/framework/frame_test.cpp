// Frames and their control bars: the frame's layout of docked bars on every side (dock
// bar and bar rectangles, the pane in the middle), the dock bar's rows (bars side by
// side, rows below each other, wrapping a bar that would not show), delayed show and
// hide applied at the next idle pass, WM_IDLEUPDATECMDUI reaching the bars' update
// handlers, floating into a mini frame and docking back, command routing from frame and
// bar to the application, the View menu's bar check and the modal state.
#include <gtest/gtest.h>
#include "framework_test_app.h"
#include "frame_test_ids.h"
#include "support/message_pump.h"
#include "support/msg_recorder.h"

using namespace testsupport;

namespace {

MsgRecorder* g_pRecorder = nullptr;

// A fixed-size bar: 100 x 30 lying, 40 x 80 standing.
class CTestBar : public CControlBar {
public:
    CSize m_sizeHorz{100, 30};
    CSize m_sizeVert{40, 80};
    int m_nUpdates = 0;
    CFrameWnd* m_pLastTarget = nullptr;

    BOOL Create(CWnd* pParent, DWORD dwStyle, UINT nID) {
        m_dwStyle = dwStyle & CBRS_ALL;
        LPCTSTR cls = AfxRegisterWndClass(0, ::LoadCursor(NULL, IDC_ARROW), (HBRUSH)(COLOR_BTNFACE + 1));
        return CWnd::Create(cls, "bar", dwStyle & ~CBRS_ALL, CRect(0, 0, 0, 0), pParent, nID);
    }
    CSize CalcFixedLayout(BOOL, BOOL bHorz) override { return bHorz ? m_sizeHorz : m_sizeVert; }
    void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) override {
        m_nUpdates++;
        m_pLastTarget = pTarget;
        if (g_pRecorder != nullptr)
            g_pRecorder->Record(WM_IDLEUPDATECMDUI, (WPARAM)bDisableIfNoHndler, 0, m_hWnd, "bar update");
    }
};

class CTestFrame : public CFrameWnd {
public:
    std::vector<UINT> m_commands;
    afx_msg void OnFrameCmd() { m_commands.push_back(ID_FR_FRAMECMD); }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CTestFrame, CFrameWnd)
    ON_COMMAND(ID_FR_FRAMECMD, &CTestFrame::OnFrameCmd)
END_MESSAGE_MAP()

// Rectangle of a window in its frame's client coordinates.
CRect RectIn(CWnd* pWnd, CWnd* pFrame) {
    CRect r;
    pWnd->GetWindowRect(&r);
    pFrame->ScreenToClient(&r);
    return r;
}

std::string Str(const RECT& r) {
    return "(" + std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
           std::to_string(r.bottom) + ")";
}

class FrameTest : public ::testing::Test {
protected:
    CTestFrame* m_pFrame = nullptr;
    HWND m_hFrame = NULL;
    CWnd m_pane;
    CTestBar* m_bars[4] = {};
    CRect m_client;

    void SetUp() override {
        m_pFrame = new CTestFrame;
        ASSERT_TRUE(m_pFrame->Create(NULL, "Frame", WS_OVERLAPPEDWINDOW, CRect(0, 0, 500, 400)));
        m_hFrame = m_pFrame->m_hWnd;
        ASSERT_TRUE(m_pane.Create(AfxRegisterWndClass(0), NULL, WS_CHILD | WS_VISIBLE, CRect(0, 0, 1, 1), m_pFrame,
                                  AFX_IDW_PANE_FIRST));
        m_pFrame->GetClientRect(&m_client);
    }
    void TearDown() override {
        if (::IsWindow(m_hFrame)) ::DestroyWindow(m_hFrame);  // the frame deletes itself
        for (CTestBar*& p : m_bars) {
            delete p;
            p = nullptr;
        }
        PumpPending();
    }
    // Four bars docked one on each side.
    void DockFour() {
        m_pFrame->EnableDocking(CBRS_ALIGN_ANY);
        const DWORD styles[4] = {CBRS_TOP, CBRS_BOTTOM, CBRS_LEFT, CBRS_RIGHT};
        const UINT ids[4] = {IDW_FR_BAR_TOP, IDW_FR_BAR_BOTTOM, IDW_FR_BAR_LEFT, IDW_FR_BAR_RIGHT};
        for (int i = 0; i < 4; i++) {
            m_bars[i] = new CTestBar;
            ASSERT_TRUE(m_bars[i]->Create(m_pFrame, WS_CHILD | WS_VISIBLE | styles[i], ids[i]));
            m_bars[i]->EnableDocking(CBRS_ALIGN_ANY);
            m_pFrame->DockControlBar(m_bars[i]);
        }
        m_pFrame->RecalcLayout();
    }
    CDockBar* Dock(UINT nID) { return DYNAMIC_DOWNCAST(CDockBar, m_pFrame->GetControlBar(nID)); }
};

TEST_F(FrameTest, DockedBarsOnEverySideAndThePaneInTheMiddle) {
    DockFour();
    const int W = m_client.Width(), H = m_client.Height();
    struct {
        const char* name;
        CWnd* pWnd;
        CRect expected;
    } cases[] = {
        // Horizontal dock bars span the width: a 30-high bar overlapped by its borders
        // (2 above, 2 below) plus the dock bar's own 2-pixel edge gives 28.
        {"top dock bar", Dock(AFX_IDW_DOCKBAR_TOP), CRect(0, 0, W, 28)},
        {"bottom dock bar", Dock(AFX_IDW_DOCKBAR_BOTTOM), CRect(0, H - 28, W, H)},
        {"left dock bar", Dock(AFX_IDW_DOCKBAR_LEFT), CRect(0, 28, 36, H - 28)},
        {"right dock bar", Dock(AFX_IDW_DOCKBAR_RIGHT), CRect(W - 36, 28, W, H - 28)},
        {"top bar", m_bars[0], CRect(-2, 0, 98, 30)},
        {"bottom bar", m_bars[1], CRect(-2, H - 30, 98, H)},
        {"left bar", m_bars[2], CRect(-2, 28, 38, 108)},
        {"right bar", m_bars[3], CRect(W - 38, 28, W + 2, 108)},
        {"pane", &m_pane, CRect(36, 28, W - 36, H - 28)},
    };
    for (auto& c : cases) {
        ASSERT_NE(c.pWnd, nullptr) << c.name;
        EXPECT_EQ(Str(RectIn(c.pWnd, m_pFrame)), Str(c.expected)) << c.name;
    }
    // Docking gave each bar its side's alignment and every border.
    EXPECT_EQ(m_bars[2]->GetBarStyle() & (CBRS_ALIGN_ANY | CBRS_BORDER_ANY), (DWORD)(CBRS_ALIGN_LEFT | CBRS_BORDER_ANY));
    EXPECT_EQ(m_bars[0]->m_pDockBar, Dock(AFX_IDW_DOCKBAR_TOP));
    EXPECT_EQ(m_bars[0]->m_pDockSite, m_pFrame);
    EXPECT_EQ(m_bars[0]->GetParentFrame(), m_pFrame);
    EXPECT_EQ(m_bars[0]->GetDockingFrame(), m_pFrame);
    EXPECT_FALSE(m_bars[0]->IsFloating());
    // Four dock bars and four bars are the frame's control bars.
    EXPECT_EQ(m_pFrame->m_listControlBars.GetCount(), 8);
    EXPECT_EQ(m_pFrame->GetControlBar(IDW_FR_BAR_LEFT), m_bars[2]);
}

TEST_F(FrameTest, DockBarRowsSideBySideBelowEachOtherAndWrapped) {
    m_pFrame->EnableDocking(CBRS_ALIGN_TOP);
    CTestBar* bars[3];
    for (int i = 0; i < 3; i++) {
        bars[i] = m_bars[i] = new CTestBar;
        ASSERT_TRUE(bars[i]->Create(m_pFrame, WS_CHILD | WS_VISIBLE | CBRS_TOP, IDW_FR_BAR_TOP + i));
        bars[i]->EnableDocking(CBRS_ALIGN_ANY);
        m_pFrame->DockControlBar(bars[i]);
    }
    CDockBar* pDock = Dock(AFX_IDW_DOCKBAR_TOP);
    ASSERT_NE(pDock, nullptr);
    // Each docking without a rectangle adds a row of its own.
    ASSERT_EQ(pDock->m_arrBars.GetSize(), 7);
    EXPECT_EQ(pDock->m_arrBars[0], nullptr);
    EXPECT_EQ(pDock->m_arrBars[1], bars[0]);
    EXPECT_EQ(pDock->m_arrBars[2], nullptr);
    EXPECT_EQ(pDock->GetDockedCount(), 3);

    // Two bars in the first row, one in the second: side by side overlapping by 2,
    // the second row 2 pixels into the first.
    pDock->m_arrBars.RemoveAll();
    void* rows[] = {nullptr, bars[0], bars[1], nullptr, bars[2], nullptr};
    for (void* p : rows) pDock->m_arrBars.Add(p);
    m_pFrame->RecalcLayout();
    EXPECT_EQ(Str(RectIn(bars[0], pDock)), Str(CRect(-2, -2, 98, 28)));
    EXPECT_EQ(Str(RectIn(bars[1], pDock)), Str(CRect(96, -2, 196, 28)));
    EXPECT_EQ(Str(RectIn(bars[2], pDock)), Str(CRect(-2, 26, 98, 56)));
    EXPECT_EQ(Str(RectIn(pDock, m_pFrame)), Str(CRect(0, 0, m_client.Width(), 56)));
    EXPECT_EQ(Str(RectIn(&m_pane, m_pFrame)), Str(CRect(0, 56, m_client.Width(), m_client.Height())));

    // A row too narrow for its third bar: that bar starts a row of its own.
    m_pFrame->SetWindowPos(NULL, 0, 0, 150 + (500 - m_client.Width()), 400, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    CRect client;
    m_pFrame->GetClientRect(&client);
    ASSERT_EQ(client.Width(), 150);
    pDock->m_arrBars.RemoveAll();
    void* one[] = {nullptr, bars[0], bars[1], bars[2], nullptr};
    for (void* p : one) pDock->m_arrBars.Add(p);
    for (CTestBar* p : bars) p->SetWindowPos(NULL, -2, -2, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    m_pFrame->RecalcLayout();
    ASSERT_EQ(pDock->m_arrBars.GetSize(), 6);
    EXPECT_EQ(pDock->m_arrBars[3], nullptr);
    EXPECT_EQ(pDock->m_arrBars[4], bars[2]);
    EXPECT_EQ(Str(RectIn(bars[1], pDock)), Str(CRect(96, -2, 196, 28)));
    EXPECT_EQ(Str(RectIn(bars[2], pDock)), Str(CRect(-2, 26, 98, 56)));

    // Removing a bar leaves its id in its place when asked, and closes an empty row.
    EXPECT_FALSE(pDock->RemoveControlBar(bars[2], -1, 1));
    ASSERT_EQ(pDock->m_arrBars.GetSize(), 6);
    EXPECT_EQ((UINT_PTR)pDock->m_arrBars[4], (UINT_PTR)(IDW_FR_BAR_TOP + 2));
    EXPECT_EQ(pDock->GetDockedCount(), 2);
    EXPECT_TRUE(m_pFrame->m_nIdleFlags & CFrameWnd::idleLayout);
    pDock->RemovePlaceHolder(bars[2]);
    EXPECT_EQ(pDock->m_arrBars.GetSize(), 4);
}

TEST_F(FrameTest, DockingAtARectangleJoinsTheRowItFallsInto) {
    m_pFrame->EnableDocking(CBRS_ALIGN_TOP);
    CTestBar* bars[3];
    for (int i = 0; i < 3; i++) {
        bars[i] = m_bars[i] = new CTestBar;
        ASSERT_TRUE(bars[i]->Create(m_pFrame, WS_CHILD | WS_VISIBLE | CBRS_TOP, IDW_FR_BAR_TOP + i));
        bars[i]->EnableDocking(CBRS_ALIGN_ANY);
    }
    m_pFrame->DockControlBar(bars[0]);
    m_pFrame->RecalcLayout();
    CDockBar* pDock = Dock(AFX_IDW_DOCKBAR_TOP);
    ASSERT_NE(pDock, nullptr);
    // Dropped beside the first bar: same row, and it stays where it was dropped.
    CRect drop(150, 0, 250, 30);
    pDock->ClientToScreen(&drop);
    m_pFrame->DockControlBar(bars[1], pDock, &drop);
    // Dropped below the row: a new row.
    CRect below(10, 40, 110, 70);
    pDock->ClientToScreen(&below);
    m_pFrame->DockControlBar(bars[2], pDock, &below);
    m_pFrame->RecalcLayout();
    void* expected[] = {nullptr, bars[0], bars[1], nullptr, bars[2], nullptr};
    ASSERT_EQ(pDock->m_arrBars.GetSize(), 6);
    for (int i = 0; i < 6; i++) EXPECT_EQ(pDock->m_arrBars[i], expected[i]) << "entry " << i;
    EXPECT_EQ(Str(RectIn(bars[1], pDock)), Str(CRect(150, -2, 250, 28)));
    // Along its row a bar keeps the place it was dropped at; across, rows stack 2
    // pixels into each other.
    EXPECT_EQ(Str(RectIn(bars[2], pDock)), Str(CRect(10, 26, 110, 56)));
    EXPECT_EQ(RectIn(pDock, m_pFrame).Height(), 56);
}

TEST_F(FrameTest, DelayedShowAndHideWaitForTheNextIdlePass) {
    DockFour();
    CTestBar* pTop = m_bars[0];
    m_pFrame->ShowControlBar(pTop, FALSE, TRUE);
    // Nothing changes yet: the bar still shows, only its state says it will not.
    EXPECT_TRUE(pTop->GetStyle() & WS_VISIBLE);
    EXPECT_FALSE(pTop->IsVisible());
    EXPECT_EQ(pTop->m_nStateFlags & (CControlBar::delayHide | CControlBar::delayShow), (UINT)CControlBar::delayHide);
    EXPECT_EQ(m_pFrame->m_nIdleFlags & (CFrameWnd::idleLayout | CFrameWnd::idleNotify),
              (UINT)(CFrameWnd::idleLayout | CFrameWnd::idleNotify));

    // A measuring pass keeps the request.
    CRect rectQuery;
    m_pFrame->RepositionBars(0, 0xFFFF, AFX_IDW_PANE_FIRST, reposQuery, &rectQuery);
    EXPECT_EQ(pTop->m_nStateFlags & CControlBar::delayHide, (UINT)CControlBar::delayHide);
    EXPECT_TRUE(pTop->GetStyle() & WS_VISIBLE);

    // The idle pass lays the frame out: the bar hides and its row is gone.
    m_pFrame->SendMessage(WM_IDLEUPDATECMDUI, TRUE);
    EXPECT_FALSE(pTop->GetStyle() & WS_VISIBLE);
    EXPECT_EQ(pTop->m_nStateFlags & (CControlBar::delayHide | CControlBar::delayShow), 0u);
    EXPECT_EQ(m_pFrame->m_nIdleFlags, 0u);
    EXPECT_EQ(RectIn(Dock(AFX_IDW_DOCKBAR_TOP), m_pFrame).Height(), 0);
    EXPECT_EQ(RectIn(&m_pane, m_pFrame).top, 0);

    // A delayed show reaching the bar's own idle handler first is applied there.
    pTop->DelayShow(TRUE);
    EXPECT_TRUE(pTop->IsVisible());
    EXPECT_FALSE(pTop->GetStyle() & WS_VISIBLE);
    pTop->SendMessage(WM_IDLEUPDATECMDUI, TRUE);
    EXPECT_TRUE(pTop->GetStyle() & WS_VISIBLE);
    EXPECT_EQ(pTop->m_nStateFlags & (CControlBar::delayHide | CControlBar::delayShow), 0u);

    // Showing at once lays out at once.
    m_pFrame->ShowControlBar(pTop, FALSE, FALSE);
    m_pFrame->ShowControlBar(pTop, TRUE, FALSE);
    EXPECT_EQ(RectIn(&m_pane, m_pFrame).top, 28);
}

TEST_F(FrameTest, IdleUpdateReachesVisibleBarsWithTheFrameAsTarget) {
    DockFour();
    m_pFrame->ShowControlBar(m_bars[3], FALSE, FALSE);
    MsgRecorder rec;
    g_pRecorder = &rec;
    // What the application's idle pass does for its main window.
    m_pFrame->SendMessage(WM_IDLEUPDATECMDUI, TRUE);
    m_pFrame->SendMessageToDescendants(WM_IDLEUPDATECMDUI, TRUE, 0, TRUE, TRUE);
    g_pRecorder = nullptr;
    std::vector<ExpectedMsg> expected;
    for (int i = 0; i < 3; i++)
        expected.push_back({WM_IDLEUPDATECMDUI, kSent | kWParam | kHwnd | kTag, TRUE, 0, m_bars[i]->m_hWnd, "bar update"});
    EXPECT_TRUE(rec.Matches(expected));
    for (int i = 0; i < 3; i++) {
        EXPECT_EQ(m_bars[i]->m_nUpdates, 1) << i;
        EXPECT_EQ(m_bars[i]->m_pLastTarget, m_pFrame) << i;
    }
    EXPECT_EQ(m_bars[3]->m_nUpdates, 0);  // hidden
}

TEST_F(FrameTest, FloatingIntoAMiniFrameAndDockingBack) {
    DockFour();
    CTestBar* pBar = m_bars[0];
    m_pFrame->FloatControlBar(pBar, CPoint(50, 60));
    EXPECT_TRUE(pBar->IsFloating());
    CDockBar* pFloatDock = pBar->m_pDockBar;
    ASSERT_NE(pFloatDock, nullptr);
    EXPECT_EQ(pFloatDock->GetDlgCtrlID(), AFX_IDW_DOCKBAR_FLOAT);
    CFrameWnd* pMini = pBar->GetParentFrame();
    ASSERT_NE(pMini, nullptr);
    EXPECT_TRUE(pMini->IsKindOf(RUNTIME_CLASS(CMiniDockFrameWnd)));
    EXPECT_EQ(pBar->GetDockingFrame(), pMini);
    EXPECT_EQ(pBar->m_pDockSite, m_pFrame);
    EXPECT_EQ(pBar->GetBarStyle() & (CBRS_FLOATING | CBRS_ALIGN_ANY), (DWORD)(CBRS_FLOATING | CBRS_ALIGN_TOP));
    // The floating frame snaps to its bar: 100 x 30 less the overlapped borders (the
    // system may keep a captioned window wider than that).
    CRect rcClient;
    pMini->GetClientRect(&rcClient);
    EXPECT_EQ(Str(RectIn(pFloatDock, pMini)), Str(CRect(0, 0, 96, 26)));
    EXPECT_EQ(rcClient.Height(), 26);
    EXPECT_GE(rcClient.Width(), 96);
    EXPECT_TRUE(::IsWindowVisible(pMini->m_hWnd));
    CRect rcMini;
    pMini->GetWindowRect(&rcMini);
    EXPECT_EQ(rcMini.TopLeft(), CPoint(50, 60));
    // The frame's top side is empty now.
    EXPECT_EQ(Dock(AFX_IDW_DOCKBAR_TOP)->GetDockedCount(), 0);
    m_pFrame->RecalcLayout();
    EXPECT_EQ(RectIn(&m_pane, m_pFrame).top, 0);

    // Docking back takes the floating frame down.
    HWND hMini = pMini->m_hWnd;
    pBar->m_dwStyle = (pBar->m_dwStyle & ~CBRS_ALIGN_ANY) | CBRS_ALIGN_TOP;
    m_pFrame->DockControlBar(pBar, AFX_IDW_DOCKBAR_TOP);
    EXPECT_FALSE(::IsWindow(hMini));
    EXPECT_FALSE(pBar->IsFloating());
    EXPECT_EQ(pBar->m_pDockBar, Dock(AFX_IDW_DOCKBAR_TOP));
    EXPECT_EQ(pBar->GetBarStyle() & CBRS_FLOATING, 0u);
    m_pFrame->RecalcLayout();
    EXPECT_EQ(RectIn(&m_pane, m_pFrame).top, 28);
    // The floating dock bar left the frame's list with its frame.
    EXPECT_EQ(m_pFrame->GetControlBar(AFX_IDW_DOCKBAR_FLOAT), nullptr);
}

TEST_F(FrameTest, ToggleDockingFloatsAndReturnsToTheSameSide) {
    DockFour();
    CTestBar* pBar = m_bars[1];  // bottom
    ASSERT_NE(pBar->m_pDockContext, nullptr);
    pBar->m_pDockContext->ToggleDocking();
    ASSERT_TRUE(pBar->IsFloating());
    EXPECT_EQ(pBar->m_pDockContext->m_uMRUDockID, (UINT)AFX_IDW_DOCKBAR_BOTTOM);
    HWND hMini = pBar->GetParentFrame()->m_hWnd;
    pBar->m_pDockContext->ToggleDocking();
    EXPECT_FALSE(pBar->IsFloating());
    EXPECT_FALSE(::IsWindow(hMini));
    EXPECT_EQ(pBar->m_pDockBar, Dock(AFX_IDW_DOCKBAR_BOTTOM));
    EXPECT_EQ(pBar->GetBarStyle() & CBRS_ALIGN_ANY, (DWORD)CBRS_ALIGN_BOTTOM);
    EXPECT_EQ(Str(RectIn(&m_pane, m_pFrame)), Str(CRect(36, 28, m_client.Width() - 36, m_client.Height() - 28)));
}

TEST_F(FrameTest, FloatingFramesFollowTheirOwnersIdlePass) {
    DockFour();
    CTestBar* pBar = m_bars[0];
    m_pFrame->FloatControlBar(pBar, CPoint(40, 40));
    CFrameWnd* pMini = pBar->GetParentFrame();
    ASSERT_NE(pMini, nullptr);
    ASSERT_TRUE(pMini->IsWindowVisible());
    // The bar in the floating frame is updated from the owner's idle pass, with its
    // owner (the frame it was docked in) as the target of its commands.
    pBar->m_nUpdates = 0;
    m_pFrame->SendMessage(WM_IDLEUPDATECMDUI, TRUE);
    EXPECT_EQ(pBar->m_nUpdates, 1);
    EXPECT_EQ(pBar->m_pLastTarget, m_pFrame);

    // Hiding its only bar later hides the floating frame at the owner's idle pass.
    m_pFrame->ShowControlBar(pBar, FALSE, TRUE);
    EXPECT_EQ(pMini->m_nShowDelay, SW_HIDE);
    EXPECT_TRUE(pMini->IsWindowVisible());
    m_pFrame->SendMessage(WM_IDLEUPDATECMDUI, TRUE);
    EXPECT_FALSE(pMini->IsWindowVisible());
    EXPECT_FALSE(pBar->GetStyle() & WS_VISIBLE);
    EXPECT_EQ(pMini->m_nShowDelay, -1);

    // And showing it again shows the frame.
    m_pFrame->ShowControlBar(pBar, TRUE, TRUE);
    EXPECT_EQ(pMini->m_nShowDelay, SW_SHOWNA);
    m_pFrame->SendMessage(WM_IDLEUPDATECMDUI, TRUE);
    EXPECT_TRUE(pMini->IsWindowVisible());
    EXPECT_TRUE(pBar->GetStyle() & WS_VISIBLE);
}

TEST_F(FrameTest, CommandsGoFromBarToFrameToApplication) {
    DockFour();
    TestApp().m_commands.clear();
    // The frame's own handler.
    m_pFrame->SendMessage(WM_COMMAND, ID_FR_FRAMECMD);
    ASSERT_EQ(m_pFrame->m_commands.size(), 1u);
    // Unhandled by the frame: the application.
    m_pFrame->SendMessage(WM_COMMAND, IDC_APP_FIRST + 1);
    ASSERT_EQ(TestApp().m_commands.size(), 1u);
    EXPECT_EQ(TestApp().m_commands[0], (UINT)(IDC_APP_FIRST + 1));
    // A command a bar receives (from a control of its own) goes to its owner.
    m_bars[2]->SendMessage(WM_COMMAND, ID_FR_FRAMECMD);
    m_bars[2]->SendMessage(WM_COMMAND, IDC_APP_FIRST + 2);
    EXPECT_EQ(m_pFrame->m_commands.size(), 2u);
    ASSERT_EQ(TestApp().m_commands.size(), 2u);
    EXPECT_EQ(TestApp().m_commands[1], (UINT)(IDC_APP_FIRST + 2));
    TestApp().m_commands.clear();
}

class CCheckCmdUI : public CCmdUI {
public:
    int m_nCheck = -1;
    void SetCheck(int nCheck) override { m_nCheck = nCheck; }
    void Enable(BOOL) override {}
};

TEST_F(FrameTest, ViewMenuChecksAndTogglesABar) {
    m_pFrame->EnableDocking(CBRS_ALIGN_ANY);
    m_bars[0] = new CTestBar;
    ASSERT_TRUE(m_bars[0]->Create(m_pFrame, WS_CHILD | WS_VISIBLE | CBRS_TOP, AFX_IDW_TOOLBAR));
    m_bars[0]->EnableDocking(CBRS_ALIGN_ANY);
    m_pFrame->DockControlBar(m_bars[0]);
    m_pFrame->RecalcLayout();

    CCheckCmdUI state;
    state.m_nID = ID_VIEW_TOOLBAR;
    state.DoUpdate(m_pFrame, FALSE);
    EXPECT_EQ(state.m_nCheck, 1);
    m_pFrame->SendMessage(WM_COMMAND, ID_VIEW_TOOLBAR);
    EXPECT_FALSE(m_bars[0]->GetStyle() & WS_VISIBLE);
    EXPECT_EQ(RectIn(&m_pane, m_pFrame).top, 0);  // laid out at once
    state.DoUpdate(m_pFrame, FALSE);
    EXPECT_EQ(state.m_nCheck, 0);
    m_pFrame->SendMessage(WM_COMMAND, ID_VIEW_TOOLBAR);
    EXPECT_TRUE(m_bars[0]->GetStyle() & WS_VISIBLE);
}

TEST_F(FrameTest, ModalStateDisablesTheFrameAndItsFloatingFrames) {
    DockFour();
    m_pFrame->FloatControlBar(m_bars[1], CPoint(30, 30), CBRS_ALIGN_TOP);
    HWND hMini = m_bars[1]->GetParentFrame()->m_hWnd;
    EXPECT_FALSE(m_pFrame->InModalState());
    m_pFrame->BeginModalState();
    m_pFrame->BeginModalState();
    EXPECT_TRUE(m_pFrame->InModalState());
    EXPECT_FALSE(::IsWindowEnabled(m_hFrame));
    EXPECT_FALSE(::IsWindowEnabled(hMini));
    m_pFrame->EndModalState();
    EXPECT_FALSE(::IsWindowEnabled(m_hFrame));  // nested: still modal
    m_pFrame->EndModalState();
    EXPECT_FALSE(m_pFrame->InModalState());
    EXPECT_TRUE(::IsWindowEnabled(m_hFrame));
    EXPECT_TRUE(::IsWindowEnabled(hMini));
}

TEST_F(FrameTest, BorderSpaceShrinksThePane) {
    DockFour();
    const int W = m_client.Width(), H = m_client.Height();
    CRect rectBorder(5, 6, 7, 8);
    EXPECT_TRUE(m_pFrame->NegotiateBorderSpace(CFrameWnd::borderSet, &rectBorder));
    EXPECT_FALSE(m_pFrame->NegotiateBorderSpace(CFrameWnd::borderSet, &rectBorder));
    m_pFrame->RecalcLayout();
    EXPECT_EQ(Str(RectIn(&m_pane, m_pFrame)), Str(CRect(36 + 5, 28 + 6, W - 36 - 7, H - 28 - 8)));
    CRect rectFree;
    EXPECT_TRUE(m_pFrame->NegotiateBorderSpace(CFrameWnd::borderGet, &rectFree));
    EXPECT_EQ(Str(rectFree), Str(CRect(36, 28, W - 36, H - 28)));
    EXPECT_TRUE(m_pFrame->NegotiateBorderSpace(CFrameWnd::borderSet, NULL));
    EXPECT_FALSE(m_pFrame->NegotiateBorderSpace(CFrameWnd::borderSet, NULL));
}

TEST_F(FrameTest, ABarDeletedWhileDockedLeavesItsDockBarAndFrame) {
    DockFour();
    CDockBar* pLeft = Dock(AFX_IDW_DOCKBAR_LEFT);
    delete m_bars[2];
    m_bars[2] = nullptr;
    EXPECT_EQ(pLeft->GetDockedCount(), 0);
    EXPECT_EQ(pLeft->m_arrBars.GetSize(), 1);
    EXPECT_EQ(m_pFrame->GetControlBar(IDW_FR_BAR_LEFT), nullptr);
    EXPECT_EQ(m_pFrame->m_listControlBars.GetCount(), 7);
    m_pFrame->RecalcLayout();
    EXPECT_EQ(RectIn(&m_pane, m_pFrame).left, 0);
}

TEST_F(FrameTest, TitleFollowsAtTheIdlePassWhenAsked) {
    EXPECT_EQ(m_pFrame->GetTitle(), "Frame");
    m_pFrame->ModifyStyle(0, FWS_ADDTOTITLE);
    m_pFrame->SetTitle("Renamed");
    char buf[64];
    ::GetWindowTextA(m_hFrame, buf, sizeof(buf));
    EXPECT_STREQ(buf, "Frame");
    m_pFrame->m_nIdleFlags |= CFrameWnd::idleTitle;
    m_pFrame->SendMessage(WM_IDLEUPDATECMDUI, TRUE);
    ::GetWindowTextA(m_hFrame, buf, sizeof(buf));
    EXPECT_STREQ(buf, "Renamed");
    EXPECT_EQ(m_pFrame->m_nIdleFlags, 0u);
}

TEST(FrameLoad, LoadFrameTakesTheTitleFromTheStringAndADefaultSize) {
    CFrameWnd* pFrame = new CFrameWnd;
    ASSERT_TRUE(pFrame->LoadFrame(IDS_FR_OPEN, WS_OVERLAPPEDWINDOW));
    HWND hWnd = pFrame->m_hWnd;
    char buf[64];
    ::GetWindowTextA(hWnd, buf, sizeof(buf));
    EXPECT_STREQ(buf, "Open a file");
    EXPECT_EQ(pFrame->GetTitle(), "Open a file");
    EXPECT_EQ(pFrame->m_nIDHelp, (UINT)IDS_FR_OPEN);
    CRect rc;
    ::GetWindowRect(hWnd, &rc);
    EXPECT_GT(rc.Width(), 0);
    EXPECT_GT(rc.Height(), 0);
    ::DestroyWindow(hWnd);  // the frame deletes itself
}

// A bar that overrides the delayed-show step, as the toolkit's toolbar does, is called
// by the dock bar's row layout for hidden and visible bars alike.
class CCountingBar : public CTestBar {
public:
    int m_nDelayCalls = 0;
    DWORD RecalcDelayShow(AFX_SIZEPARENTPARAMS* lpLayout) override {
        m_nDelayCalls++;
        return CTestBar::RecalcDelayShow(lpLayout);
    }
};

TEST_F(FrameTest, RowLayoutSettlesDelayedShowOfEveryBar) {
    m_pFrame->EnableDocking(CBRS_ALIGN_TOP);
    CCountingBar* pBar = new CCountingBar;
    m_bars[0] = pBar;
    ASSERT_TRUE(pBar->Create(m_pFrame, WS_CHILD | WS_VISIBLE | CBRS_TOP, IDW_FR_BAR_TOP));
    pBar->EnableDocking(CBRS_ALIGN_ANY);
    m_pFrame->DockControlBar(pBar);
    m_pFrame->RecalcLayout();
    int nCalls = pBar->m_nDelayCalls;
    EXPECT_GE(nCalls, 1);
    pBar->DelayShow(FALSE);
    m_pFrame->RecalcLayout();
    EXPECT_GT(pBar->m_nDelayCalls, nCalls);
    EXPECT_FALSE(pBar->GetStyle() & WS_VISIBLE);
    EXPECT_EQ(RectIn(&m_pane, m_pFrame).top, 0);
    // A hidden bar is not visible to the layout, but a pending show is.
    pBar->DelayShow(TRUE);
    EXPECT_TRUE(pBar->IsVisible());
    m_pFrame->RecalcLayout();
    EXPECT_TRUE(pBar->GetStyle() & WS_VISIBLE);
    EXPECT_EQ(RectIn(&m_pane, m_pFrame).top, 28);
}

}  // namespace
