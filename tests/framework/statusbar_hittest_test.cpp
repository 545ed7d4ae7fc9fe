// The framework status bar's hit test: the size grip sizes, every other part of the bar,
// borders included, is client area.
#include <gtest/gtest.h>

#include "framework/framework.h"

TEST(StatusBarHitTest, OnlyTheGripSizes)
{
    CFrameWnd* pFrame = new CFrameWnd;
    ASSERT_TRUE(pFrame->Create(NULL, "Grip", WS_OVERLAPPEDWINDOW, CRect(0, 0, 400, 200)));
    CStatusBar bar;
    ASSERT_TRUE(bar.Create(pFrame));
    const UINT ids[] = {0};
    ASSERT_TRUE(bar.SetIndicators(ids, 1));
    pFrame->RecalcLayout();
    ASSERT_TRUE((bar.GetStyle() & SBARS_SIZEGRIP) != 0);
    CRect rcWnd;
    bar.GetWindowRect(&rcWnd);
    struct Case
    {
        const char* sName;
        CPoint pt;
        LRESULT nHit;
    } cases[] = {
        {"grip", CPoint(rcWnd.right - 2, rcWnd.bottom - 2), HTBOTTOMRIGHT},
        {"middle", CPoint(rcWnd.CenterPoint()), HTCLIENT},
        {"top border", CPoint(rcWnd.left + 5, rcWnd.top), HTCLIENT},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.nHit, bar.SendMessage(WM_NCHITTEST, 0, MAKELPARAM(c.pt.x, c.pt.y))) << c.sName;
    pFrame->DestroyWindow();
}
