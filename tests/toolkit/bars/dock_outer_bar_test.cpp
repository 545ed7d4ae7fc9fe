// Toolbars in the frame's outer dock bar: one row at their preferred lengths, the less
// preferred shrinking when the frame narrows down to its minimum; rows moved by the
// drag operations.
#include <gtest/gtest.h>

#include "framework/afxres.h"
#include "framework/framework.h"
#include "support/message_pump.h"
#include "toolbar_test_ids.h"
#include "toolkit/bars/control_bar.h"
#include "toolkit/core/cmd_manager.h"
#include "toolkit/theme/paint_manager.h"

namespace {

const char* const PROFILE = "outer-dock-test-profile";

struct ToolbarFrame
{
    CFrameWnd* pFrame = new CFrameWnd;
    CExtToolControlBar bars[2];
    CExtDockOuterBar* pTop = NULL;
    ToolbarFrame()
    {
        g_CurrentPaintManager.InstallPaintManager(new CExtPaintManagerXP);
        pFrame->Create(NULL, "Toolbars", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(50, 50, 650, 350));
        g_CommandManager->ProfileSetup(PROFILE, pFrame->GetSafeHwnd());
        CExtControlBar::EnableFrameDocking(pFrame);
        pTop = DYNAMIC_DOWNCAST(CExtDockOuterBar, pFrame->GetControlBar(AFX_IDW_DOCKBAR_TOP));
        for (int i = 0; i < 2; i++)
        {
            bars[i].Create(NULL, pFrame, 64041 + i, WS_CHILD | WS_VISIBLE | CBRS_TOP);
            bars[i].LoadToolBar(IDR_TB_TOOLBAR);
            bars[i].EnableDocking(CBRS_ALIGN_ANY);
        }
        // Both in one row.
        pFrame->DockControlBar(&bars[0], AFX_IDW_DOCKBAR_TOP);
        pFrame->RecalcLayout();
        CRect rc;
        bars[0].GetWindowRect(&rc);
        rc.OffsetRect(rc.Width() + 4, 0);
        pFrame->DockControlBar(&bars[1], AFX_IDW_DOCKBAR_TOP, &rc);
        pFrame->RecalcLayout();
    }
    ~ToolbarFrame()
    {
        pFrame->DestroyWindow();
        g_CommandManager->ProfileDestroy(PROFILE, true);
    }
    CRect Rect(CWnd& w)
    {
        CRect rc;
        w.GetWindowRect(&rc);
        pTop->ScreenToClient(&rc);
        return rc;
    }
    void SetClientWidth(int cx)
    {
        CRect rcWnd, rcClient;
        pFrame->GetWindowRect(&rcWnd);
        pFrame->GetClientRect(&rcClient);
        pFrame->SetWindowPos(NULL, 0, 0, cx + rcWnd.Width() - rcClient.Width(), rcWnd.Height(),
                             SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        pFrame->RecalcLayout();
    }
};

}  // namespace

TEST(OuterDockBar, ToolbarsShareTheRowThenWrap)
{
    ToolbarFrame f;
    ASSERT_TRUE(f.pTop != NULL);
    ASSERT_EQ(f.pTop, f.bars[0].m_pDockBar);
    ASSERT_EQ(f.pTop, f.bars[1].m_pDockBar);
    const CRect rc0 = f.Rect(f.bars[0]), rc1 = f.Rect(f.bars[1]);
    const int nPref0 = rc0.Width(), nPref1 = rc1.Width(), nThick = rc0.Height();
    // One row: side by side at their preferred lengths, the dock bar one row high.
    EXPECT_EQ(0, rc0.left);
    EXPECT_EQ(rc0.top, rc1.top);
    EXPECT_GE(rc1.left, rc0.right);
    CRect rcDock;
    f.pTop->GetWindowRect(&rcDock);
    EXPECT_EQ(nThick, rcDock.Height());

    // Narrower than both: the gap closes and the second, less preferred, shrinks.
    const int nNarrow = nPref0 + nPref1 - 20;
    f.SetClientWidth(nNarrow);
    EXPECT_EQ(CRect(0, 0, nPref0, nThick), f.Rect(f.bars[0]));
    EXPECT_EQ(CRect(nPref0, 0, nNarrow, nThick), f.Rect(f.bars[1]));

    // Wider again: both take their preferred lengths back.
    f.SetClientWidth(nPref0 + nPref1 + 100);
    EXPECT_EQ(nPref0, f.Rect(f.bars[0]).Width());
    EXPECT_EQ(nPref1, f.Rect(f.bars[1]).Width());

    // As narrow as the frame goes: the less preferred bar is down to its minimum (its
    // non-client frame and its own minimum), the first takes the rest; one row still.
    f.SetClientWidth(40);
    CRect rcClient;
    f.pFrame->GetClientRect(&rcClient);
    const CRect rcW0 = f.Rect(f.bars[0]), rcW1 = f.Rect(f.bars[1]);
    CRect rcBarWnd, rcBarClient;
    f.bars[1].GetWindowRect(&rcBarWnd);
    f.bars[1].GetClientRect(&rcBarClient);
    EXPECT_EQ(f.bars[1].GetMinSize().cx + rcBarWnd.Width() - rcBarClient.Width(), rcW1.Width());
    EXPECT_EQ(rcW0.right, rcW1.left);
    EXPECT_EQ(rcClient.right, rcW1.right);
    EXPECT_EQ(rcW0.top, rcW1.top);
}

TEST(OuterDockBar, ARowOfItsOwnAndBackIntoTheRow)
{
    ToolbarFrame f;
    ASSERT_TRUE(f.pTop != NULL);
    CPtrArray& arr = f.pTop->m_arrBars;
    // The second bar goes to a row of its own below the first one's row.
    ASSERT_TRUE(f.pTop->DockBarAsNewRow(&f.bars[0], &f.bars[1], false));
    f.pFrame->RecalcLayout();
    const int n0 = f.pTop->FindBar(&f.bars[0]), n1 = f.pTop->FindBar(&f.bars[1]);
    ASSERT_GT(n1, n0);
    EXPECT_EQ(nullptr, arr[n0 + 1]);
    EXPECT_EQ(f.Rect(f.bars[0]).bottom, f.Rect(f.bars[1]).top);
    // Dragged back up beside the first bar: it joins that row after it.
    CArray<CControlBar*, CControlBar*> arrRow;
    arrRow.Add(&f.bars[0]);
    ASSERT_TRUE(f.pTop->TryDockIntoRow(&f.bars[1], arrRow, f.Rect(f.bars[0]).Width() + 10));
    EXPECT_EQ(f.pTop->FindBar(&f.bars[0]) + 1, f.pTop->FindBar(&f.bars[1]));
    f.pFrame->RecalcLayout();
    EXPECT_EQ(f.Rect(f.bars[0]).top, f.Rect(f.bars[1]).top);
}

TEST(OuterDockBar, DraggingAlongTheRowMovesUntilTheNeighbourStopsIt)
{
    ToolbarFrame f;
    ASSERT_TRUE(f.pTop != NULL);
    const CRect rc0 = f.Rect(f.bars[0]), rc1 = f.Rect(f.bars[1]);
    const struct
    {
        const char* sName;
        int nOffset;
        int nLeft;  // where the second bar's left edge ends
    } cases[] = {
        {"free room ahead", 30, rc1.left + 30},
        {"back against the first bar", -400, rc0.right},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.sName);
        bool bChanged = true;
        f.pTop->MoveBarInRow(&f.bars[1], c.nOffset, 0, &bChanged);
        EXPECT_FALSE(bChanged);
        EXPECT_EQ(c.nLeft, f.Rect(f.bars[1]).left);
        EXPECT_EQ(rc1.Width(), f.Rect(f.bars[1]).Width());
        EXPECT_EQ(rc0, f.Rect(f.bars[0]));
    }
}

TEST(OuterDockBar, FloatsAndDocksBackByDoubleClick)
{
    ToolbarFrame f;
    ASSERT_TRUE(f.pTop != NULL);
    f.bars[0].ToggleDocking();
    testsupport::PumpPending();
    CExtMiniDockFrameWnd* pMini = DYNAMIC_DOWNCAST(CExtMiniDockFrameWnd, f.bars[0].GetParentFrame());
    ASSERT_TRUE(pMini != NULL) << "floating in the toolkit's own frame";
    EXPECT_TRUE(f.bars[0].IsFloating());
    EXPECT_EQ(-1, f.pTop->FindBar(&f.bars[0]));
    // A double click on the floating frame's caption docks the bar where it was.
    CRect rcMini;
    pMini->GetWindowRect(&rcMini);
    const CPoint pt(rcMini.left + 20, rcMini.top + ::GetSystemMetrics(SM_CYFRAME) + 2);
    ASSERT_EQ(HTCAPTION, pMini->SendMessage(WM_NCHITTEST, 0, MAKELPARAM(pt.x, pt.y)));
    pMini->SendMessage(WM_NCLBUTTONDBLCLK, HTCAPTION, MAKELPARAM(pt.x, pt.y));
    f.pFrame->RecalcLayout();
    testsupport::PumpPending();
    EXPECT_EQ(f.pTop, f.bars[0].m_pDockBar);
    EXPECT_GT(f.pTop->FindBar(&f.bars[0]), 0);
    EXPECT_FALSE(f.bars[0].IsFloating());
    EXPECT_TRUE(f.bars[0].IsVisible());
    EXPECT_EQ(0, f.Rect(f.bars[0]).top);
}
