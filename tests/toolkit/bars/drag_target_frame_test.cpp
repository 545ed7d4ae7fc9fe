// Drag targets worked out in a frame: the bars under the cursor decide, whatever state
// the frame's dock bars left them in and whichever drag style the theme uses.
#include <gtest/gtest.h>

#include "framework/afxres.h"
#include "framework/framework.h"
#include "tests/support/message_pump.h"
#include "toolkit/bars/control_bar.h"
#include "toolkit/bars/dock_bar.h"

namespace {

// A frame with one bar docked on the left and one floating bar to drag.
struct TargetFrame
{
    CFrameWnd* pFrame = new CFrameWnd;
    CExtControlBar docked, dragged;
    explicit TargetFrame(int nMarkerStyle)
    {
        CExtControlBar::g_nDockMarkerStyleOverride = nMarkerStyle;
        pFrame->Create(NULL, "Targets", WS_OVERLAPPEDWINDOW, CRect(30, 30, 630, 480));
        CExtControlBar::EnableFrameDocking(pFrame);
        docked.Create("Docked", pFrame, 52001, WS_CHILD | WS_VISIBLE | CBRS_LEFT | CBRS_GRIPPER);
        dragged.Create("Dragged", pFrame, 52002, WS_CHILD | WS_VISIBLE | CBRS_LEFT | CBRS_GRIPPER);
        for (CExtControlBar* p : {&docked, &dragged})
        {
            p->EnableDocking(CBRS_ALIGN_ANY);
            p->m_bAutoDelete = FALSE;
        }
        pFrame->ShowWindow(SW_SHOWNA);
        docked.DockAtFrameSide(AFX_IDW_DOCKBAR_LEFT);
        dragged.FloatControlBar(700, 500);
        pFrame->RecalcLayout(TRUE);
        testsupport::PumpPending();
    }
    ~TargetFrame()
    {
        CExtControlBar::g_nDockMarkerStyleOverride = -1;
        if (::IsWindow(pFrame->m_hWnd))
            pFrame->DestroyWindow();
    }
    CExtControlBar::InternalDraggingState_t TargetAt(CPoint pt)
    {
        CExtControlBar::InternalDraggingState_t st;
        st.m_pBarSrc = &dragged;
        st.CalcDockTarget(pt.x, pt.y, false);
        return st;
    }
};

}  // namespace

TEST(DragTargetInFrame, ABarLeftWithoutItsDockBarIsATargetLikeAFloatingOne)
{
    TargetFrame f(0);
    CExtDockBar* pDock = DYNAMIC_DOWNCAST(CExtDockBar, f.docked.m_pDockBar);
    ASSERT_TRUE(pDock != NULL);
    // The dock bar lets its bars go as it does when it is destroyed.
    pDock->DetachAllBars();
    ASSERT_TRUE(f.docked.m_pDockBar == NULL);
    ASSERT_EQ(f.pFrame, f.docked.m_pDockSite);
    CRect rcFrame;
    f.pFrame->GetWindowRect(&rcFrame);
    const CExtControlBar::InternalDraggingState_t st = f.TargetAt(CPoint(rcFrame.CenterPoint().x, rcFrame.top + 10));
    EXPECT_EQ(27, st.m_nKind);
    EXPECT_EQ(&f.docked, st.m_pBarDst);
    EXPECT_FALSE(st.IsPartOfTarget());
}

TEST(DragTargetInFrame, EdgesOfADockedBarTakeTheBarBesideItInEitherStyle)
{
    for (int nStyle : {0, 1})
    {
        SCOPED_TRACE(nStyle == 1 ? "marker style" : "outline style");
        TargetFrame f(nStyle);
        CRect rcT;
        f.docked.GetWindowRect(&rcT);
        ASSERT_GT(rcT.Width(), 100);
        const CExtControlBar::InternalDraggingState_t st = f.TargetAt(CPoint(rcT.right - 20, rcT.CenterPoint().y));
        EXPECT_EQ(4, st.m_nKind);
        EXPECT_EQ(&f.docked, st.m_pBarDst);
        EXPECT_EQ(CRect(rcT.right - rcT.Width() / 2, rcT.top, rcT.right, rcT.bottom), CRect(st.m_rcTrack));
        // The middle of the bar is no edge: the dragged bar floats.
        const CExtControlBar::InternalDraggingState_t stMiddle = f.TargetAt(rcT.CenterPoint());
        EXPECT_EQ(0, stMiddle.m_nKind);
        EXPECT_TRUE(stMiddle.m_pBarDst == NULL);
    }
}
