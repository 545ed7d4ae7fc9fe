// Nested docking: bars inside a container share its area row by row, and a container
// left with one bar hands it its place and size.
#include <gtest/gtest.h>

#include "framework/afxres.h"
#include "framework/framework.h"
#include "tests/support/message_pump.h"
#include "toolkit/bars/control_bar.h"
#include "toolkit/bars/dyn_control_bar.h"

TEST(NestedDocking, RowsShareTheContainerAndOneBarLeftTakesItsPlace)
{
    CFrameWnd* pFrame = new CFrameWnd;
    pFrame->Create(NULL, "Nested", WS_OVERLAPPEDWINDOW, CRect(0, 0, 500, 400));
    CExtControlBar a, b;
    a.Create("A", pFrame, 64031, WS_CHILD | WS_VISIBLE | CBRS_BOTTOM);
    b.Create("B", pFrame, 64032, WS_CHILD | WS_VISIBLE | CBRS_BOTTOM);
    CExtDynControlBar* pBox = new CExtDynControlBar;
    ASSERT_TRUE(pBox->Create("Box", pFrame, AFX_IDW_DOCKBAR_BOTTOM, WS_CHILD | WS_VISIBLE | CBRS_BOTTOM));
    ASSERT_TRUE(pBox->m_pWndDynDocker != NULL);
    for (CExtControlBar* p : {&a, &b, static_cast<CExtControlBar*>(pBox)})
        p->EnableDocking(CBRS_ALIGN_ANY);
    pFrame->ShowWindow(SW_SHOWNA);
    ASSERT_TRUE(pBox->DockAtFrameSide(AFX_IDW_DOCKBAR_BOTTOM));
    a.m_sizeDockedH = CSize(200, 60);
    b.m_sizeDockedH = CSize(200, 40);
    pBox->m_pWndDynDocker->DockControlBar(&a);
    pBox->m_pWndDynDocker->DockControlBar(&b);
    pFrame->RecalcLayout(TRUE);
    testsupport::PumpPending();

    CRect rcInner, rcA, rcB;
    pBox->m_pWndDynDocker->GetClientRect(&rcInner);
    a.GetWindowRect(&rcA);
    b.GetWindowRect(&rcB);
    pBox->m_pWndDynDocker->ScreenToClient(&rcA);
    pBox->m_pWndDynDocker->ScreenToClient(&rcB);
    ASSERT_GT(rcInner.Height(), 100);
    // Two rows, one above the other, each as wide as the container; the spare height
    // went to both rows in turn.
    EXPECT_EQ(CRect(0, 0, rcInner.right, rcA.bottom), rcA);
    EXPECT_EQ(CRect(0, rcA.bottom, rcInner.right, rcInner.bottom), rcB);
    const int nSpare = rcInner.Height() - 100;
    EXPECT_EQ(60 + (nSpare + 1) / 2, rcA.Height());
    EXPECT_EQ(40 + nSpare / 2, rcB.Height());
    EXPECT_FALSE(pBox->IsFixedMode());
    EXPECT_EQ(std::max(a.GetMinVertExtent(), b.GetMinVertExtent()), pBox->GetMinVertExtent());

    // B leaves: the container dissolves and A stands where it stood, as large.
    CDockBar* pOuter = pBox->m_pDockBar;
    const HWND hWndBox = pBox->m_hWnd;
    CRect rcBox;
    pBox->GetWindowRect(&rcBox);
    ASSERT_TRUE(b.DockAtFrameSide(AFX_IDW_DOCKBAR_LEFT));
    EXPECT_FALSE(::IsWindow(hWndBox));
    EXPECT_EQ(pOuter, a.m_pDockBar);
    EXPECT_EQ(pOuter->m_hWnd, ::GetParent(a.m_hWnd));
    // (Its length follows the row, which B's new column at the left shortened.)
    EXPECT_EQ(rcBox.Height(), a.m_sizeDockedH.cy);
    CRect rcB2, rcA2;
    b.GetWindowRect(&rcB2);
    a.GetWindowRect(&rcA2);
    EXPECT_EQ(rcB2.right, rcA2.left);
    EXPECT_EQ(rcBox.right, rcA2.right);
    EXPECT_EQ(rcBox.bottom, rcA2.bottom);
    EXPECT_GT(pOuter->FindBar(&a), 0);
    pFrame->DestroyWindow();
}
