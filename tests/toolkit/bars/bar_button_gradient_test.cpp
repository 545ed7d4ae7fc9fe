// The Office 2003 button gradient reads the bar button's rectangle and its frame query
// from the bars library; dock-marker windows hand over their state the same way.
#include <gtest/gtest.h>
#include "toolkit/bars/control_bar.h"
#include "toolkit/theme/paint_manager.h"
#include "toolkit/theme/pm_dock_markers.h"
#include "toolkit/theme/pm_small_controls.h"
#include "support/dib_canvas.h"

using testsupport::DibCanvas;

TEST(BarButtonGradient, Office2003PaintsInsideTheButtonRectangle)
{
    const COLORREF MARK = RGB(1, 2, 3);
    ASSERT_TRUE(g_CurrentPaintManager.InstallPaintManager(new CExtPaintManagerOffice2003));
    CExtPaintManager* pPM = g_CurrentPaintManager.GetPM();
    CExtBarButton button(NULL);
    button.m_rc = CRect(4, 4, 24, 24);
    RECT rc = {0, 0, 0, 0};
    ASSERT_TRUE(CExtPmSmallControlQueries::g_queries.pfnBarButtonRect != NULL);
    EXPECT_TRUE(CExtPmSmallControlQueries::g_queries.pfnBarButtonRect(&button, rc));
    EXPECT_TRUE(::EqualRect(&rc, &button.m_rc));

    DibCanvas canvas(30, 30, MARK);
    CDC* pDC = CDC::FromHandle(canvas.Dc());
    pPM->DrawBarButtonGradient(*pDC, &button);
    EXPECT_EQ(MARK, canvas.Pixel(4, 10)) << "the edge stays: the gradient is one pixel in";
    EXPECT_NE(MARK, canvas.Pixel(5, 10));
    EXPECT_NE(MARK, canvas.Pixel(14, 22));
    EXPECT_EQ(MARK, canvas.Pixel(14, 23));

    canvas.Fill(MARK);
    ASSERT_TRUE(g_CurrentPaintManager.InstallPaintManager(new CExtPaintManagerXP));
    g_CurrentPaintManager.GetPM()->DrawBarButtonGradient(*pDC, &button);
    EXPECT_EQ(30 * 30, canvas.Count(MARK, RECT{0, 0, 30, 30})) << "XP draws nothing";
}

TEST(BarButtonGradient, MarkerWindowStateReachesTheTheme)
{
    ASSERT_TRUE(CExtPmDockMarkerHooks::g_hooks.pfnMarkerState != NULL);
    int nKind = -1;
    bool bStandAlone = true;
    HWND hWnd = (HWND)1;
    CExtBarButton notAMarker(NULL);
    EXPECT_FALSE(CExtPmDockMarkerHooks::g_hooks.pfnMarkerState(&notAMarker, nKind, bStandAlone, hWnd));
}
