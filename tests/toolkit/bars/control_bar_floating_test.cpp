// A bar floated by its frame: the frame makes toolkit floating frames once the bars set
// its floating-frame class, the floating frame answers its bar, and the bar's docking
// queries and menu notifications follow it there.
#include <gtest/gtest.h>

#include "framework/framework.h"
#include "framework/afxres.h"
#include "support/msg_recorder.h"
#include "toolkit/bars/control_bar.h"

TEST(ControlBarFloating, FloatedBarLivesInAToolkitMiniFrameAndNotifiesItsDockSite)
{
    CFrameWnd* pFrame = new CFrameWnd;
    ASSERT_TRUE(pFrame->Create(NULL, "Frame", WS_OVERLAPPEDWINDOW, CRect(0, 0, 400, 300)));
    pFrame->EnableDocking(CBRS_ALIGN_ANY);
    EXPECT_TRUE(CExtControlBar::SetFrameFloatingClass(pFrame));
    EXPECT_EQ(RUNTIME_CLASS(CExtMiniDockFrameWnd), pFrame->m_pFloatingFrameClass);

    CExtControlBar bar;
    ASSERT_TRUE(bar.Create("Floating", pFrame, 0xE970, WS_CHILD | WS_VISIBLE | CBRS_TOP | CBRS_GRIPPER));
    bar.EnableDocking(CBRS_ALIGN_ANY);
    pFrame->FloatControlBar(&bar, CPoint(50, 60));

    CFrameWnd* pMini = bar.GetParentFrame();
    ASSERT_NE(nullptr, pMini);
    ASSERT_TRUE(pMini->IsKindOf(RUNTIME_CLASS(CExtMiniDockFrameWnd)));
    EXPECT_EQ(&bar, static_cast<CExtMiniDockFrameWnd*>(pMini)->GetControlBar());
    EXPECT_EQ(UINT(AFX_IDW_DOCKBAR_FLOAT), bar.GetDockBarCtrlID());
    EXPECT_FALSE(bar.IsDockedAtFrameSide());
    EXPECT_TRUE(bar.IsFloating());
    EXPECT_EQ(pFrame, bar.GetDockingFrame());
    EXPECT_TRUE(bar.IsSingleBarInMiniFrame());
    // The mini frame's caption serves: a floating bar has no gripper.
    bool bAtTop = true, bText = true;
    EXPECT_FALSE(bar.IsBarWithGripper(&bAtTop, &bText));
    EXPECT_FALSE(bAtTop);
    EXPECT_FALSE(bText);
    EXPECT_EQ(CSize(200, 200), bar.CalcDynamicLayout(-1, LM_HORZ | LM_HORZDOCK));

    // The floating frame shows the bar's text.
    bar.SetWindowText("Renamed");
    CString sText;
    pMini->GetWindowText(sText);
    EXPECT_STREQ("Renamed", sText);

    // A menu event of the floating bar reaches the main frame, not the mini frame.
    testsupport::MsgRecorder rec;
    rec.Only({CExtControlBar::g_nMsgConstructPopupMenu});
    rec.Watch(pFrame->m_hWnd);
    rec.Watch(pMini->m_hWnd);
    rec.HookThread();
    CExtControlBar::POPUP_MENU_EVENT_DATA d(1, NULL, &bar, CPoint(1, 1), WM_RBUTTONUP, NULL);
    EXPECT_FALSE(d.NotifyTarget(false));
    rec.Unhook();
    EXPECT_TRUE(rec.Matches({
        {CExtControlBar::g_nMsgConstructPopupMenu, testsupport::kSent | testsupport::kHwnd, 0, 0, pFrame->m_hWnd},
    }));
    EXPECT_EQ(pFrame, d.m_pWndInitialTarget);

    // A new floating frame on the dock site.
    CExtMiniDockFrameWnd* pNew = bar.CreateFloatingFrame(CBRS_ALIGN_TOP);
    ASSERT_NE(nullptr, pNew);
    EXPECT_EQ(pFrame, pNew->GetParentFrame());
    EXPECT_EQ(nullptr, pNew->GetControlBar());
    pNew->DestroyWindow();

    CExtControlBar orphan;
    EXPECT_THROW(orphan.CreateFloatingFrame(CBRS_ALIGN_TOP), CResourceException*);
    pFrame->DestroyWindow();
}

TEST(ControlBarFloating, FloatUnderCursorKeepsTheGrabPointUnderTheCursor)
{
    CFrameWnd* pFrame = new CFrameWnd;
    ASSERT_TRUE(pFrame->Create(NULL, "Frame", WS_OVERLAPPEDWINDOW, CRect(0, 0, 400, 300)));
    pFrame->EnableDocking(CBRS_ALIGN_ANY);
    CExtControlBar::SetFrameFloatingClass(pFrame);
    CExtToolControlBar tool;
    ASSERT_TRUE(tool.Create("Tool", pFrame, 0xE980, WS_CHILD | WS_VISIBLE | CBRS_TOP));
    tool.EnableDocking(CBRS_ALIGN_ANY);
    pFrame->DockControlBar(&tool, AFX_IDW_DOCKBAR_TOP);
    ASSERT_FALSE(tool.IsFloating());
    tool.SetCaptionRect(CRect(0, 0, 10, 40));  // grab size 10

    // Docked: the bar floats with its grab point under the cursor.
    tool.FloatUnderCursor(200, 150);
    EXPECT_TRUE(tool.IsFloating());
    EXPECT_EQ(CPoint(190, 145), tool.m_ptFloatPos);
    ASSERT_NE(nullptr, tool.m_pDockContext);
    EXPECT_EQ(CPoint(190, 145), tool.m_pDockContext->m_ptMRUFloatPos);
    EXPECT_EQ(tool.m_hWnd, ::GetCapture());
    CFrameWnd* pMini = tool.GetParentFrame();
    ASSERT_NE(nullptr, pMini);

    // Floating: the frame follows the cursor.
    tool.SetCaptionRect(CRect(0, 0, 10, 40));
    tool.FloatUnderCursor(250, 100);
    CRect rcMini;
    pMini->GetWindowRect(&rcMini);
    EXPECT_EQ(CPoint(240, 95), rcMini.TopLeft());
    EXPECT_EQ(CPoint(240, 95), tool.m_pDockContext->m_ptMRUFloatPos);
    EXPECT_NE(0u, pMini->m_nIdleFlags & (CFrameWnd::idleNotify | CFrameWnd::idleLayout));
    ::ReleaseCapture();
    pFrame->DestroyWindow();
}
