// Tear-off menus: a press on the caption asks the receiver for a bar; dragging away hides
// the menu and moves the bar's floating frame with the pointer, coming back shows the
// menu again, the release ends the drag and a torn-off menu ends the tracking.
#include "tests/toolkit/menus/menu_test_kit.h"

#include <functional>
#include <vector>

using namespace menukit;
using testsupport::PumpPending;

namespace {

typedef CExtPopupMenuWnd::TEAROFFNOTIFICATON TN;

class CTearBar : public CControlBar
{
public:
    CSize CalcFixedLayout(BOOL, BOOL) override { return CSize(120, 26); }
    void OnUpdateCmdUI(CFrameWnd*, BOOL) override {}
};

// The receiver: makes its bar on the first notification, records the states it sees.
class CTearFrame : public CFrameWnd
{
public:
    bool m_bMakeBar = true;
    CTearBar m_bar;
    std::vector<int> m_states;

protected:
    LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override
    {
        if (msg != CExtPopupMenuWnd::g_nMsgTearOff)
            return CFrameWnd::WindowProc(msg, wp, lp);
        TN* pTN = (TN*)wp;
        if (m_states.empty() || m_states.back() != pTN->m_nState)
            m_states.push_back(pTN->m_nState);
        if (pTN->m_nState == TN::__TNS_START && m_bMakeBar)
        {
            m_bar.m_dwStyle = CBRS_TOP;
            m_bar.Create(AfxRegisterWndClass(0), "torn", WS_CHILD, CRect(0, 0, 0, 0), this, 0xE850);
            m_bar.EnableDocking(CBRS_ALIGN_ANY);
            pTN->m_hWndBar = m_bar.GetSafeHwnd();
        }
        return 0;
    }
};

// The drag runs its own loop; the steps come from a thread timer it dispatches.
std::vector<std::function<void()>> g_steps;
size_t g_nStep = 0;
void CALLBACK StepProc(HWND, UINT, UINT_PTR idEvent, DWORD)
{
    if (g_nStep < g_steps.size())
        g_steps[g_nStep++]();
    else
        ::KillTimer(NULL, idEvent);
}
void DragTo(int x, int y)
{
    ::SetCursorPos(x, y);
    if (g_pActiveTearOff != NULL)
        g_pActiveTearOff->_OnHookMouseMove(WM_MOUSEMOVE, x, y);
}
void Release()
{
    if (g_pActiveTearOff != NULL)
        g_pActiveTearOff->_OnHookMouseButton(WM_LBUTTONUP, 0, 0);
}

class TearOffTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_pFrame = new CTearFrame;
        ASSERT_TRUE(m_pFrame->Create(NULL, "Tear", WS_OVERLAPPEDWINDOW, CRect(0, 0, 300, 200)));
        m_pFrame->EnableDocking(CBRS_ALIGN_ANY);
        g_nStep = 0;
    }
    void TearDown() override
    {
        CExtPopupMenuWnd::CancelMenuTracking();
        PumpPending();
        m_pFrame->DestroyWindow();
        PumpPending();
    }
    // Tracks a menu with a caption and presses the caption with the given steps queued.
    void PressCaption(std::vector<std::function<void()>> steps)
    {
        g_steps = steps;
        CExtPopupMenuWnd* pMenu = new CExtPopupMenuWnd;
        ASSERT_TRUE(pMenu->CreatePopupMenu(m_pFrame->GetSafeHwnd()));
        pMenu->ItemInsertCommand(0x7C01, -1, "Torn item");
        ASSERT_TRUE(pMenu->TrackPopupMenu(kQuick | CExtPopupMenuWnd::TMF_TEAROFF, 100, 100));
        m_hWndMenu = pMenu->GetSafeHwnd();
        CRect rcCaption;
        pMenu->GetItemRect(CExtPopupMenuWnd::IDX_TEAROFF, rcCaption, false);
        ASSERT_EQ(pMenu->HitTest(rcCaption.CenterPoint()), CExtPopupMenuWnd::IDX_TEAROFF);
        CPoint pt = rcCaption.CenterPoint();
        pMenu->ClientToScreen(&pt);
        ::SetCursorPos(pt.x, pt.y);
        ::SetTimer(NULL, 0, 20, StepProc);
        EXPECT_TRUE(Click(pMenu, WM_LBUTTONDOWN, rcCaption.CenterPoint()));
        EXPECT_EQ(g_pActiveTearOff, nullptr);
    }
    CTearFrame* m_pFrame = NULL;
    HWND m_hWndMenu = NULL;
};

}  // namespace

TEST_F(TearOffTest, TornOffMovedAndClosed)
{
    bool bHiddenWhileAway = false, bShownWhenBack = false, bKeyEaten = false;
    CRect rcFrameAway;
    PressCaption({[] { DragTo(500, 400); },
                  [&] {
                      bHiddenWhileAway = !::IsWindowVisible(m_hWndMenu);
                      m_pFrame->m_bar.GetParentFrame()->GetWindowRect(&rcFrameAway);
                      bKeyEaten = g_pActiveTearOff->_OnHookKey(VK_ESCAPE, 1, 0);
                      CRect rc;
                      ::GetWindowRect(m_hWndMenu, &rc);
                      DragTo(rc.left + 10, rc.top + 4);  // back on the caption band
                  },
                  [&] {
                      bShownWhenBack = ::IsWindowVisible(m_hWndMenu) != FALSE;
                      DragTo(520, 450);
                  },
                  [] { Release(); }});
    EXPECT_TRUE(bHiddenWhileAway);
    EXPECT_TRUE(bShownWhenBack);
    EXPECT_TRUE(bKeyEaten) << "keys go to the drag, Esc does not end it";
    EXPECT_EQ(rcFrameAway.TopLeft(), CPoint(470, 390)) << "the frame follows 30 right and 10 below its corner";
    PumpPending();
    EXPECT_FALSE(CExtPopupMenuWnd::IsMenuTracking()) << "torn off: the menus are gone";
    ASSERT_TRUE(m_pFrame->m_bar.IsFloating());
    EXPECT_TRUE(m_pFrame->m_bar.IsWindowVisible());
    CRect rcMini;
    m_pFrame->m_bar.GetParentFrame()->GetWindowRect(&rcMini);
    EXPECT_EQ(rcMini.TopLeft(), CPoint(490, 440));
    EXPECT_EQ(m_pFrame->m_states, (std::vector<int>{TN::__TNS_START, TN::__TNS_STEP, TN::__TNS_FINISHED}));
}

TEST_F(TearOffTest, ReleaseNearTheCaptionOrNoBarKeepsTheMenu)
{
    for (bool bMakeBar : {true, false})
    {
        m_pFrame->m_bMakeBar = bMakeBar;
        m_pFrame->m_states.clear();
        PressCaption({[] {
            CPoint pt;
            ::GetCursorPos(&pt);
            DragTo(pt.x + 3, pt.y + 2);  // inside the start zone
            Release();
        }});
        PumpPending();
        EXPECT_TRUE(CExtPopupMenuWnd::IsMenuTracking() && ::IsWindowVisible(m_hWndMenu)) << "bar " << bMakeBar;
        EXPECT_FALSE(m_pFrame->m_bar.GetSafeHwnd() != NULL && m_pFrame->m_bar.IsWindowVisible());
        EXPECT_EQ(m_pFrame->m_states.size(), bMakeBar ? 3u : 1u) << "without a bar the drag ends at once";
        CExtPopupMenuWnd::CancelMenuTracking();
        PumpPending();
    }
}
