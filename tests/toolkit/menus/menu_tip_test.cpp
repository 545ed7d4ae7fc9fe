// The shared tooltip window: no style hides, placement of the rectangle looks above and
// below their area and inside the work area, the balloon flipping at the edge, the delayed
// show, an unchanged area left alone, and painting of the rectangle look.
#include <gtest/gtest.h>

#include "framework/framework.h"
#include "support/dib_canvas.h"
#include "support/import_patch.h"
#include "support/message_pump.h"
#include "toolkit/menus/popup_menu_wnd.h"
#include "toolkit/theme/paint_manager.h"
#include <cstdio>

using testsupport::PumpPending;
using testsupport::PumpUntil;

namespace {

// The period the tip last asked its show timer for, as it called the system.
decltype(&::SetTimer) g_pSetTimer = NULL;
UINT g_nShowPeriod = 0;
UINT_PTR WINAPI NoteSetTimer(HWND hWnd, UINT_PTR nId, UINT nPeriod, TIMERPROC pProc)
{
    if (nId == CExtPopupBaseWnd::ID_TIMER_DELAY_SHOW) g_nShowPeriod = nPeriod;
    return g_pSetTimer(hWnd, nId, nPeriod, pProc);
}

class MenuTipTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        g_CurrentPaintManager.InstallPaintManagerByClass(RUNTIME_CLASS(CExtPaintManagerXP));
        ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &m_rcWork, 0);
        // Keep the pointer away from the areas unless a case moves it there.
        ::SetCursorPos(m_rcWork.left + 1, m_rcWork.top + 1);
        m_tip.SetAppearanceValue(0);
        m_tip.SetText("  Remove the program  ");
    }
    void TearDown() override
    {
        m_tip.Hide();
        if (m_tip.GetSafeHwnd() != NULL)
            m_tip.DestroyWindow();
    }
    CRect TipRect()
    {
        CRect rc;
        m_tip.GetWindowRect(&rc);
        return rc;
    }

    CRect m_rcWork;
    CExtPopupMenuTipWnd m_tip;
};

}  // namespace

TEST_F(MenuTipTest, TextIsTrimmedAndNoStyleHides)
{
    EXPECT_STREQ((LPCTSTR)m_tip.GetText(), "Remove the program");
    m_tip.SetText(NULL);
    EXPECT_STREQ((LPCTSTR)m_tip.GetText(), "");
    m_tip.SetTipStyle(0);
    EXPECT_FALSE(m_tip.Show(NULL, CRect(100, 100, 150, 120)));
    EXPECT_TRUE(m_tip.m_rcWndArea.IsRectEmpty());
    m_tip.SetTipStyle(7);
    EXPECT_FALSE(m_tip.Show(NULL, CRect(100, 100, 150, 120)));
}

TEST_F(MenuTipTest, RectanglesSitCentredAboveOrBelowTheirArea)
{
    m_tip.SetTipStyle(CExtPopupMenuTipWnd::__ETS_RECTANGLE_NO_ICON);
    const CRect rcArea(m_rcWork.left + 200, m_rcWork.top + 200, m_rcWork.left + 300, m_rcWork.top + 220);
    ASSERT_TRUE(m_tip.Show(NULL, rcArea));
    CRect rc = TipRect();
    EXPECT_EQ(rc.left, rcArea.CenterPoint().x - rc.Width() / 2);
    EXPECT_EQ(rc.bottom, rcArea.top - 3);
    EXPECT_FALSE(m_tip.IsWindowVisible()) << "placed hidden until the delay ends";

    m_tip.Hide();
    m_tip.SetTipStyle(CExtPopupMenuTipWnd::__ETS_INV_RECTANGLE_NO_ICON);
    ASSERT_TRUE(m_tip.Show(NULL, rcArea));
    rc = TipRect();
    EXPECT_EQ(rc.top, rcArea.bottom + 13);

    // At the right edge of the work area the tip is pushed inside.
    m_tip.Hide();
    const CRect rcEdge(m_rcWork.right - 20, m_rcWork.top + 200, m_rcWork.right, m_rcWork.top + 220);
    ASSERT_TRUE(m_tip.Show(NULL, rcEdge));
    EXPECT_EQ(TipRect().right, m_rcWork.right);
}

TEST_F(MenuTipTest, ABalloonFlipsAtTheRightEdge)
{
    m_tip.SetTipStyle(CExtPopupMenuTipWnd::__ETS_BALLOON);
    const CRect rcArea(m_rcWork.left + 200, m_rcWork.top + 200, m_rcWork.left + 300, m_rcWork.top + 220);
    ASSERT_TRUE(m_tip.Show(NULL, rcArea));
    EXPECT_EQ(m_tip.m_nFlipFlags & CExtPopupMenuTipWnd::__FLIP_HORZ, 0);
    // The stem's tip lies on the anchor, 6 pixels into the area.
    CRect rc = TipRect();
    EXPECT_EQ(rc.left, rcArea.left + 6 - 12);
    EXPECT_EQ(rc.bottom, rcArea.top + 6);
    m_tip.Hide();
    const CRect rcEdge(m_rcWork.right - 30, m_rcWork.top + 200, m_rcWork.right - 10, m_rcWork.top + 220);
    ASSERT_TRUE(m_tip.Show(NULL, rcEdge));
    EXPECT_NE(m_tip.m_nFlipFlags & CExtPopupMenuTipWnd::__FLIP_HORZ, 0);
    EXPECT_LE(TipRect().right, m_rcWork.right);
}

TEST_F(MenuTipTest, ShowsAfterTheDelayWhileThePointerStaysAndKeepsAnUnchangedArea)
{
    m_tip.SetTipStyle(CExtPopupMenuTipWnd::__ETS_RECTANGLE_NO_ICON);
    const CRect rcArea(m_rcWork.left + 200, m_rcWork.top + 200, m_rcWork.left + 300, m_rcWork.top + 220);
    ::SetCursorPos(rcArea.CenterPoint().x, rcArea.CenterPoint().y);
    ASSERT_TRUE(m_tip.Show(NULL, rcArea));
    ASSERT_TRUE(PumpUntil([&] { return m_tip.IsWindowVisible() != FALSE; }, 3000));
    const CRect rcShown = TipRect();
    ASSERT_TRUE(m_tip.Show(NULL, rcArea));
    EXPECT_TRUE(m_tip.IsWindowVisible()) << "the same area changes nothing";
    EXPECT_EQ(TipRect(), rcShown);
    // The pointer leaves the area: the watcher hides the tip.
    ::SetCursorPos(m_rcWork.left + 1, m_rcWork.top + 1);
    EXPECT_TRUE(PumpUntil([&] { return !m_tip.IsWindowVisible(); }, 3000));
    EXPECT_TRUE(m_tip.m_rcWndArea.IsRectEmpty());
}

TEST_F(MenuTipTest, TheRectangleIsFilledWithTheInfoColourAndFramed)
{
    m_tip.SetTipStyle(CExtPopupMenuTipWnd::__ETS_RECTANGLE_NO_ICON);
    const CRect rcArea(m_rcWork.left + 200, m_rcWork.top + 200, m_rcWork.left + 300, m_rcWork.top + 220);
    ASSERT_TRUE(m_tip.Show(NULL, rcArea));
    CRect rcClient;
    m_tip.GetClientRect(&rcClient);
    testsupport::DibCanvas canvas(rcClient.Width(), rcClient.Height(), RGB(255, 0, 255));
    CDC dc;
    dc.Attach(canvas.Dc());
    m_tip.OnPaintMenu(dc, true);
    dc.Detach();
    EXPECT_EQ(canvas.Pixel(0, 0), ::GetSysColor(COLOR_3DDKSHADOW));
    EXPECT_EQ(canvas.Pixel(rcClient.right - 1, rcClient.bottom - 1), ::GetSysColor(COLOR_3DDKSHADOW));
    EXPECT_EQ(canvas.Pixel(1, 1), ::GetSysColor(COLOR_INFOBK));
    EXPECT_EQ(canvas.Count(RGB(255, 0, 255), rcClient), 0);
}

TEST_F(MenuTipTest, ATipShownJustNowMakesTheNextOneQuick)
{
    g_pSetTimer = (decltype(g_pSetTimer))testsupport::PatchImport("user32.dll", "SetTimer", (void*)&NoteSetTimer);
    ASSERT_TRUE(g_pSetTimer != NULL);
    m_tip.SetTipStyle(CExtPopupMenuTipWnd::__ETS_RECTANGLE_NO_ICON);
    const CRect rcFirst(300, 300, 340, 320), rcSecond(360, 300, 400, 320);
    // The tip was first placed long ago; it shows now after the full delay. A busy
    // machine may stretch any wait: the delay is judged by what the tip asked the system.
    const DWORD nFull = CExtPopupMenuTipWnd::ID_PERIOD_SHOW;
    const DWORD tStart = ::GetTickCount();
    g_nShowPeriod = 0;
    EXPECT_TRUE(m_tip.Show(NULL, rcFirst));
    m_tip.m_nLastQuickShow = time(NULL) - 60;
    ::SetCursorPos(rcFirst.CenterPoint().x, rcFirst.CenterPoint().y);
    PumpUntil([&] { return m_tip.IsWindowVisible() != FALSE; }, 2000);
    EXPECT_TRUE(m_tip.IsWindowVisible());
    EXPECT_EQ(nFull, g_nShowPeriod);
    // (Wine rounds a timer's period to its own tick.)
    EXPECT_GE(::GetTickCount() - tStart + 16, nFull) << "not before its delay";
    m_tip.Hide();
    // The showing just now counts (within two seconds, by the tip's clock): the next area's
    // tip comes after the short delay.
    ::SetCursorPos(rcSecond.CenterPoint().x, rcSecond.CenterPoint().y);
    const time_t tShown = m_tip.m_nLastQuickShow;
    g_nShowPeriod = 0;
    EXPECT_TRUE(m_tip.Show(NULL, rcSecond));
    const time_t tAfter = time(NULL);
    PumpUntil([&] { return m_tip.IsWindowVisible() != FALSE; }, 2000);
    EXPECT_TRUE(m_tip.IsWindowVisible());
    if (tAfter - tShown < 2)
        EXPECT_EQ((UINT)CExtPopupMenuTipWnd::ID_PERIOD_QUICK_SHOW, g_nShowPeriod) << "after the short delay";
    else
        std::printf("[   NOTE   ] the machine took two seconds between the showing and the next tip: not judged\n");
    testsupport::PatchImport("user32.dll", "SetTimer", (void*)g_pSetTimer);
}
