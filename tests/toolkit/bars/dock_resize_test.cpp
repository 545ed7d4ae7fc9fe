// Resizing docked bars from their splitters with the mouse, and the resize loops'
// way out when the application quits while they run.
#include <gtest/gtest.h>

#include <vector>

#include "framework/afxres.h"
#include "framework/framework.h"
#include "tests/support/message_pump.h"
#include "toolkit/bars/control_bar.h"

using testsupport::PumpPending;
using testsupport::PumpUntil;

namespace {

// Two resizable bars side by side in the bottom row of a frame.
struct BottomRow
{
    CFrameWnd* pFrame = new CFrameWnd;
    CExtControlBar a, b;
    BottomRow()
    {
        pFrame->Create(NULL, "Rows", WS_OVERLAPPEDWINDOW, CRect(40, 40, 540, 440));
        a.Create("A", pFrame, 64011, WS_CHILD | WS_VISIBLE | CBRS_BOTTOM | CBRS_GRIPPER);
        b.Create("B", pFrame, 64012, WS_CHILD | WS_VISIBLE | CBRS_BOTTOM | CBRS_GRIPPER);
        a.EnableDocking(CBRS_ALIGN_ANY);
        b.EnableDocking(CBRS_ALIGN_ANY);
        pFrame->ShowWindow(SW_SHOWNA);
        a.DockAtFrameSide(AFX_IDW_DOCKBAR_BOTTOM);
        CRect rcDrop;
        a.GetWindowRect(&rcDrop);
        rcDrop.left = rcDrop.right - 50;
        static_cast<CExtDockBar*>(a.m_pDockBar)->DockControlBar(&b, rcDrop, true);
        pFrame->RecalcLayout(TRUE);
        pFrame->SetActiveWindow();
        PumpPending();
    }
    ~BottomRow() { pFrame->DestroyWindow(); }
    static CRect Rect(CWnd& w)
    {
        CRect rc;
        w.GetWindowRect(&rc);
        return rc;
    }
};

void SendMouse(CPoint p, DWORD dwFlags)
{
    INPUT in = {};
    in.type = INPUT_MOUSE;
    in.mi.dx = p.x * 65535 / (::GetSystemMetrics(SM_CXSCREEN) - 1);
    in.mi.dy = p.y * 65535 / (::GetSystemMetrics(SM_CYSCREEN) - 1);
    in.mi.dwFlags = MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE | dwFlags;
    ::SendInput(1, &in, sizeof(in));
}

}  // namespace

TEST(DockResize, DraggingTheSplitterBetweenTwoBarsMovesLengthFromOneToTheOther)
{
    BottomRow r;
    const CRect rcA0 = BottomRow::Rect(r.a), rcB0 = BottomRow::Rect(r.b);
    ASSERT_EQ(rcA0.right, rcB0.left);
    const CRect rcSplit(*r.a.GetTrailingSplitterRect());
    ASSERT_FALSE(rcSplit.IsRectEmpty());
    // The middle of the splitter strip, then 40 pixels to the left.
    const CPoint pt(rcA0.left + (rcSplit.left + rcSplit.right) / 2, rcA0.top + rcSplit.top + 20);
    EXPECT_EQ(HTRIGHT, r.a.SendMessage(WM_NCHITTEST, 0, MAKELPARAM(pt.x, pt.y)));
    SendMouse(pt, 0);
    PumpPending();
    SendMouse(pt, MOUSEEVENTF_LEFTDOWN);
    SendMouse(pt - CPoint(20, 0), 0);
    SendMouse(pt - CPoint(40, 0), 0);
    SendMouse(pt - CPoint(40, 0), MOUSEEVENTF_LEFTUP);
    ASSERT_TRUE(PumpUntil([&] { return BottomRow::Rect(r.a).Width() != rcA0.Width(); }, 3000));
    PumpPending();
    EXPECT_FALSE(r.a.IsInRowResizing());
    EXPECT_EQ(rcA0.Width() - 40, BottomRow::Rect(r.a).Width());
    EXPECT_EQ(rcB0.Width() + 40, BottomRow::Rect(r.b).Width());
    EXPECT_EQ(BottomRow::Rect(r.a).right, BottomRow::Rect(r.b).left);
    EXPECT_EQ(rcB0.right, BottomRow::Rect(r.b).right);
}

TEST(DockResize, AQuitRequestCancelsTheLoopAndIsPostedAgainOnce)
{
    struct
    {
        const char* sName;
        bool bRow;
    } cases[] = {{"row resize", true}, {"column resize", false}};
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.sName);
        BottomRow r;
        const CSize sizeH0 = r.a.m_sizeDockedH, sizeB0 = r.b.m_sizeDockedH;
        // Something to wake the loop, then the quit request behind it.
        r.pFrame->PostMessage(WM_NULL);
        ::PostQuitMessage(7);
        if (c.bRow)
            r.a.RowResizeLoop();
        else
            r.a.ColumnResizeLoop();
        EXPECT_FALSE(r.a.IsRowResizing());
        EXPECT_FALSE(r.a.IsInRowResizing());
        EXPECT_NE(r.a.m_hWnd, ::GetCapture());
        EXPECT_EQ(sizeH0, r.a.m_sizeDockedH);
        EXPECT_EQ(sizeB0, r.b.m_sizeDockedH);
        MSG msg;
        ASSERT_TRUE(::PeekMessage(&msg, NULL, WM_QUIT, WM_QUIT, PM_REMOVE));
        EXPECT_EQ(7u, msg.wParam);
        EXPECT_FALSE(::PeekMessage(&msg, NULL, WM_QUIT, WM_QUIT, PM_REMOVE));
    }
}

namespace {

// Three resizable bars side by side in the bottom row of a frame.
struct BottomRowOfThree
{
    CFrameWnd* pFrame = new CFrameWnd;
    CExtControlBar bars[3];
    explicit BottomRowOfThree(DWORD dwStyle = WS_OVERLAPPEDWINDOW)
    {
        pFrame->Create(NULL, "Rows", dwStyle, CRect(40, 40, 640, 440));
        for (int i = 0; i < 3; i++)
        {
            bars[i].Create("Bar", pFrame, UINT(64041 + i), WS_CHILD | WS_VISIBLE | CBRS_BOTTOM | CBRS_GRIPPER);
            bars[i].EnableDocking(CBRS_ALIGN_ANY);
        }
        pFrame->ShowWindow(SW_SHOWNA);
        bars[0].DockAtFrameSide(AFX_IDW_DOCKBAR_BOTTOM);
        for (int i = 1; i < 3; i++)
        {
            CRect rcDrop;
            bars[i - 1].GetWindowRect(&rcDrop);
            rcDrop.left = rcDrop.right - 20;
            static_cast<CExtDockBar*>(bars[0].m_pDockBar)->DockControlBar(&bars[i], rcDrop, true);
            pFrame->RecalcLayout(TRUE);
        }
        pFrame->SetActiveWindow();
        PumpPending();
    }
    ~BottomRowOfThree() { pFrame->DestroyWindow(); }
    std::vector<int> Widths()
    {
        std::vector<int> v;
        for (CExtControlBar& bar : bars)
            v.push_back(BottomRow::Rect(bar).Width());
        return v;
    }
};

}  // namespace

TEST(DockResize, RowSplitterChangesTheRowThicknessUnlessEscapeCancels)
{
    const struct
    {
        const char* sName;
        UINT nEndMsg;
        WPARAM wParam;
    } cases[] = {{"released", WM_LBUTTONUP, 0}, {"escape", WM_KEYDOWN, VK_ESCAPE}};
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.sName);
        BottomRow r;
        const CRect rcA0 = BottomRow::Rect(r.a), rcB0 = BottomRow::Rect(r.b);
        const int cy0 = r.a.m_sizeDockedH.cy;
        const CRect rcSplit(*r.a.GetRowSplitterRect());
        ASSERT_FALSE(rcSplit.IsRectEmpty());
        // The row follows the pointer, as thick as from the bar's bottom up to the
        // pointer plus half the splitter.
        const int nGrowth = c.nEndMsg == WM_KEYDOWN ? 0 : 30 - rcSplit.top;
        const CPoint pt(rcA0.left + rcSplit.CenterPoint().x, rcA0.top + (rcSplit.top + rcSplit.bottom) / 2);
        ASSERT_EQ(HTBOTTOM, r.a.SendMessage(WM_NCHITTEST, 0, MAKELPARAM(pt.x, pt.y)));
        // The pointer is 30 pixels higher when the loop looks; the move and the end wait
        // in the queue for the loop that the press starts.
        ::SetCursorPos(pt.x, pt.y - 30);
        r.a.PostMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(rcSplit.CenterPoint().x, 0));
        if (c.nEndMsg == WM_KEYDOWN)
            r.pFrame->PostMessage(WM_KEYDOWN, c.wParam, 1);
        else
            r.a.PostMessage(c.nEndMsg, c.wParam, 0);
        r.a.SendMessage(WM_NCLBUTTONDOWN, HTBOTTOM, MAKELPARAM(pt.x, pt.y));
        EXPECT_FALSE(r.a.IsRowResizing());
        EXPECT_NE(r.a.m_hWnd, ::GetCapture());
        if (c.nEndMsg == WM_KEYDOWN)
        {
            // The key that ended the loop is left for the normal dispatch.
            MSG msg;
            EXPECT_TRUE(::PeekMessage(&msg, r.pFrame->m_hWnd, WM_KEYDOWN, WM_KEYDOWN, PM_REMOVE));
        }
        PumpPending();
        for (CExtControlBar* p : {&r.a, &r.b})
            EXPECT_EQ(cy0 + nGrowth, p->m_sizeDockedH.cy);
        EXPECT_EQ(rcA0.Height() + nGrowth, BottomRow::Rect(r.a).Height());
        EXPECT_EQ(rcB0.Height() + nGrowth, BottomRow::Rect(r.b).Height());
        EXPECT_EQ(rcA0.bottom, BottomRow::Rect(r.a).bottom);
        EXPECT_EQ(rcA0.Width(), BottomRow::Rect(r.a).Width());
    }
}

TEST(DockResize, HidingAndShowingTheMiddleBarOfThreeRestoresTheLengths)
{
    BottomRowOfThree r;
    const std::vector<int> widths0 = r.Widths();
    int nSum = 0;
    for (int n : widths0)
        nSum += n;
    r.pFrame->ShowControlBar(&r.bars[1], FALSE, FALSE);
    PumpPending();
    // The two left take the row between them.
    EXPECT_EQ(nSum, BottomRow::Rect(r.bars[0]).Width() + BottomRow::Rect(r.bars[2]).Width());
    EXPECT_EQ(BottomRow::Rect(r.bars[0]).right, BottomRow::Rect(r.bars[2]).left);
    r.pFrame->ShowControlBar(&r.bars[1], TRUE, FALSE);
    PumpPending();
    EXPECT_EQ(widths0, r.Widths());
    EXPECT_EQ(BottomRow::Rect(r.bars[0]).right, BottomRow::Rect(r.bars[1]).left);
    EXPECT_EQ(BottomRow::Rect(r.bars[1]).right, BottomRow::Rect(r.bars[2]).left);
}

TEST(DockResize, ARowTooShortForTheMinimumsBreaksBeforeTheFirstBarThatDoesNotFit)
{
    BottomRowOfThree r(WS_POPUP);  // a frame that may be narrower than a captioned one
    CRect rcClient;
    r.pFrame->GetClientRect(&rcClient);
    CRect rcFrame;
    r.pFrame->GetWindowRect(&rcFrame);
    // Room for the first two bars' minimums but not for the third's.
    const int nMin0 = r.bars[0].GetMinHorzExtent(), nMin1 = r.bars[1].GetMinHorzExtent(),
              nMin2 = r.bars[2].GetMinHorzExtent();
    const int nClient = nMin0 + nMin1 + nMin2 / 2;
    r.pFrame->SetWindowPos(NULL, 0, 0, rcFrame.Width() - rcClient.Width() + nClient, rcFrame.Height(),
                           SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    r.pFrame->GetClientRect(&rcClient);
    ASSERT_EQ(nClient, rcClient.Width());
    for (int nPass = 0; nPass < 2; nPass++)
        r.pFrame->RecalcLayout(TRUE);
    PumpPending();
    const CRect rc0 = BottomRow::Rect(r.bars[0]), rc1 = BottomRow::Rect(r.bars[1]), rc2 = BottomRow::Rect(r.bars[2]);
    EXPECT_EQ(rc0.top, rc1.top);
    EXPECT_EQ(rc0.right, rc1.left);
    EXPECT_NE(rc0.top, rc2.top);
    EXPECT_EQ(rc0.left, rc2.left);
    // The third bar is alone in its row and as long as the dock bar.
    EXPECT_EQ(rc0.Width() + rc1.Width(), rc2.Width());
    CPtrArray& arr = r.bars[0].m_pDockBar->m_arrBars;
    const int nAt = r.bars[0].m_pDockBar->FindBar(&r.bars[2]);
    ASSERT_GT(nAt, 0);
    EXPECT_TRUE(arr[nAt - 1] == NULL);
    EXPECT_EQ(nAt - 2, r.bars[0].m_pDockBar->FindBar(&r.bars[1]));
}

TEST(DockResize, FocusGivesABarAtItsMinimumTheRowLeavingTheOthersAtTheirs)
{
    BottomRowOfThree r;
    const std::vector<int> widths0 = r.Widths();
    const int nRow = widths0[0] + widths0[1] + widths0[2];
    // The first bar squeezed to its minimum; the others share the rest.
    const int nMin0 = r.bars[0].GetMinHorzExtent();
    r.bars[0].m_sizeDockedH.cx = nMin0;
    r.bars[1].m_sizeDockedH.cx = widths0[1] + widths0[0] - nMin0;
    r.pFrame->RecalcLayout(TRUE);
    PumpPending();
    ASSERT_TRUE(r.bars[0].IsMinimizedInRow());
    r.bars[0].SendMessage(WM_SETFOCUS);
    PumpPending();
    const int nMin1 = r.bars[1].GetMinHorzExtent(), nMin2 = r.bars[2].GetMinHorzExtent();
    EXPECT_EQ(nMin1, r.bars[1].m_sizeDockedH.cx);
    EXPECT_EQ(nMin2, r.bars[2].m_sizeDockedH.cx);
    EXPECT_EQ(nRow - nMin1 - nMin2, r.bars[0].m_sizeDockedH.cx);
    const std::vector<int> expected = {nRow - nMin1 - nMin2, nMin1, nMin2};
    EXPECT_EQ(expected, r.Widths());
}
