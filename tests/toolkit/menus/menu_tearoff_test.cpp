// Tear-off menus: a press on the caption asks the receiver for a bar; dragging away hides
// the menu and moves the bar's floating frame with the pointer, coming back shows the
// menu again, the release ends the drag and a torn-off menu ends the tracking.
#include <gtest/gtest.h>

#include "framework/framework.h"
#include "support/message_pump.h"
#include "toolkit/menus/popup_menu_wnd.h"
#include "toolkit/theme/paint_manager.h"

#include <functional>
#include <string>
#include <vector>

using testsupport::PumpPending;

namespace {

typedef CExtPopupMenuWnd::TEAROFFNOTIFICATON TN;

class CTearBar : public CControlBar
{
public:
    BOOL Create(CWnd* pParent)
    {
        m_dwStyle = CBRS_TOP;
        LPCTSTR cls = AfxRegisterWndClass(0, ::LoadCursor(NULL, IDC_ARROW), (HBRUSH)(COLOR_BTNFACE + 1));
        return CWnd::Create(cls, "torn", WS_CHILD, CRect(0, 0, 0, 0), pParent, 0xE850);
    }
    CSize CalcFixedLayout(BOOL, BOOL) override { return CSize(120, 26); }
    void OnUpdateCmdUI(CFrameWnd*, BOOL) override {}
};

class CTearFrame : public CFrameWnd
{
public:
    bool m_bMakeBar = true;
    CTearBar m_bar;
    std::vector<int> m_states;

protected:
    LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override
    {
        if (msg == CExtPopupMenuWnd::g_nMsgTearOff)
        {
            TN* pTN = (TN*)wp;
            if (m_states.empty() || m_states.back() != pTN->m_nState)
                m_states.push_back(pTN->m_nState);
            if (pTN->m_nState == TN::__TNS_START && m_bMakeBar)
            {
                if (m_bar.GetSafeHwnd() == NULL)
                {
                    m_bar.Create(this);
                    m_bar.EnableDocking(CBRS_ALIGN_ANY);
                }
                pTN->m_hWndBar = m_bar.GetSafeHwnd();
            }
            return 0;
        }
        return CFrameWnd::WindowProc(msg, wp, lp);
    }
};

// The drag runs its own loop; the steps come from a thread timer it dispatches.
std::vector<std::function<void()>> g_steps;
size_t g_nStep = 0;
void CALLBACK StepProc(HWND, UINT, UINT_PTR idEvent, DWORD)
{
    if (g_nStep >= g_steps.size())
    {
        ::KillTimer(NULL, idEvent);
        return;
    }
    g_steps[g_nStep++]();
}

void MoveTo(int x, int y)
{
    ::SetCursorPos(x, y);
    if (g_pActiveTearOff != NULL)
        g_pActiveTearOff->_OnHookMouseMove(WM_MOUSEMOVE, x, y);
}
void Release(int x, int y)
{
    if (g_pActiveTearOff != NULL)
        g_pActiveTearOff->_OnHookMouseButton(WM_LBUTTONUP, x, y);
}

class TearOffTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        g_CurrentPaintManager.InstallPaintManagerByClass(RUNTIME_CLASS(CExtPaintManagerXP));
        m_pFrame = new CTearFrame;
        ASSERT_TRUE(m_pFrame->Create(NULL, "Tear", WS_OVERLAPPEDWINDOW, CRect(0, 0, 300, 200)));
        m_pFrame->EnableDocking(CBRS_ALIGN_ANY);
        g_steps.clear();
        g_nStep = 0;
    }
    void TearDown() override
    {
        CExtPopupMenuWnd::CancelMenuTracking();
        PumpPending();
        m_pFrame->DestroyWindow();
        PumpPending();
    }
    // Tracks a menu with a caption and presses it; returns the press point.
    CPoint PressCaption()
    {
        m_pMenu = new CExtPopupMenuWnd;
        EXPECT_TRUE(m_pMenu->CreatePopupMenu(m_pFrame->GetSafeHwnd()));
        m_pMenu->ItemInsertCommand(0x7C01, -1, "Torn item");
        const UINT nFlags = CExtPopupMenuWnd::TMF_NO_CMD_UI | CExtPopupMenuWnd::TMF_NO_ANIMATION |
                            CExtPopupMenuWnd::TMF_NO_SHADOW | CExtPopupMenuWnd::TMF_TEAROFF;
        EXPECT_TRUE(m_pMenu->TrackPopupMenu(nFlags, 100, 100));
        m_hWndMenu = m_pMenu->GetSafeHwnd();
        CRect rcCaption;
        m_pMenu->GetItemRect(CExtPopupMenuWnd::IDX_TEAROFF, rcCaption, false);
        EXPECT_FALSE(rcCaption.IsRectEmpty());
        EXPECT_EQ(m_pMenu->HitTest(rcCaption.CenterPoint()), CExtPopupMenuWnd::IDX_TEAROFF);
        CPoint pt = rcCaption.CenterPoint();
        m_pMenu->ClientToScreen(&pt);
        ::SetCursorPos(pt.x, pt.y);
        ::SetTimer(NULL, 0, 20, StepProc);
        bool bNoEat = false;
        CPoint ptClient = rcCaption.CenterPoint();
        EXPECT_TRUE(m_pMenu->OnMouseClickTracked(WM_LBUTTONDOWN, ptClient, bNoEat));
        return pt;
    }

    CTearFrame* m_pFrame = NULL;
    CExtPopupMenuWnd* m_pMenu = NULL;
    HWND m_hWndMenu = NULL;
};

}  // namespace

TEST_F(TearOffTest, TornOffMovedAndClosed)
{
    bool bHiddenWhileAway = false, bShownWhenBack = false, bKeyEaten = false;
    CRect rcFrameAway;
    g_steps = {
        [] { MoveTo(500, 400); },
        [&] {
            bHiddenWhileAway = !::IsWindowVisible(m_hWndMenu);
            CWnd* pMini = m_pFrame->m_bar.GetParentFrame();
            if (pMini != NULL && pMini != m_pFrame)
                pMini->GetWindowRect(&rcFrameAway);
            bKeyEaten = g_pActiveTearOff != NULL && g_pActiveTearOff->_OnHookKey(VK_ESCAPE, 1, 0);
            CRect rc;
            ::GetWindowRect(m_hWndMenu, &rc);
            MoveTo(rc.left + 10, rc.top + 4);  // back on the caption band
        },
        [&] {
            bShownWhenBack = ::IsWindowVisible(m_hWndMenu) != FALSE;
            MoveTo(520, 450);
        },
        [] { Release(520, 450); },
    };
    PressCaption();
    EXPECT_TRUE(bHiddenWhileAway);
    EXPECT_TRUE(bShownWhenBack);
    EXPECT_TRUE(bKeyEaten) << "keys go to the drag, Esc does not end it";
    EXPECT_EQ(rcFrameAway.TopLeft(), CPoint(470, 390)) << "the frame follows 30 right and 10 below its corner";
    EXPECT_EQ(g_pActiveTearOff, nullptr);
    PumpPending();
    EXPECT_FALSE(CExtPopupMenuWnd::IsMenuTracking()) << "torn off: the menus are gone";
    EXPECT_TRUE(m_pFrame->m_bar.IsFloating());
    EXPECT_TRUE(m_pFrame->m_bar.IsWindowVisible());
    CRect rcMini;
    m_pFrame->m_bar.GetParentFrame()->GetWindowRect(&rcMini);
    EXPECT_EQ(rcMini.TopLeft(), CPoint(490, 440));
    EXPECT_EQ(m_pFrame->m_states, (std::vector<int>{TN::__TNS_START, TN::__TNS_STEP, TN::__TNS_FINISHED}));
}

TEST_F(TearOffTest, ReleaseWithoutLeavingTheCaptionKeepsTheMenu)
{
    g_steps = {[] {
        CPoint pt;
        ::GetCursorPos(&pt);
        MoveTo(pt.x + 3, pt.y + 2);
    },
               [] {
                   CPoint pt;
                   ::GetCursorPos(&pt);
                   Release(pt.x, pt.y);
               }};
    PressCaption();
    PumpPending();
    EXPECT_TRUE(CExtPopupMenuWnd::IsMenuTracking());
    EXPECT_TRUE(::IsWindowVisible(m_hWndMenu));
    EXPECT_FALSE(m_pFrame->m_bar.IsWindowVisible());
}

TEST_F(TearOffTest, WithoutABarFromTheReceiverNothingHappens)
{
    m_pFrame->m_bMakeBar = false;
    PressCaption();
    EXPECT_EQ(g_pActiveTearOff, nullptr);
    EXPECT_TRUE(CExtPopupMenuWnd::IsMenuTracking());
    EXPECT_TRUE(::IsWindowVisible(m_hWndMenu));
    EXPECT_EQ(m_pFrame->m_states, (std::vector<int>{TN::__TNS_START}));
}
