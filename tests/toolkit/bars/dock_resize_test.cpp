// Resizing docked bars from their splitters with the mouse, and the resize loops'
// way out when the application quits while they run.
#include <gtest/gtest.h>

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
