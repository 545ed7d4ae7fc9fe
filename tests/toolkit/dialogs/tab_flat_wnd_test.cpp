// The flat and the button tab strips: slant metrics and item widening, the selected flat
// item painted over its neighbours, the band line, button frames and the colours every
// theme gives them at chosen points.
#include <gtest/gtest.h>
#include "tab_wnd_test_strip.h"
#include "support/dib_canvas.h"
#include "support/message_pump.h"
#include "toolkit/dialogs/tab_flat_wnd.h"

namespace {

template <class Base>
class Strip : public Base
{
public:
    CRect ItemInView(int n) { return this->_GetItemRectInView(n); }
};

CRuntimeClass* const kThemes[] = {RUNTIME_CLASS(CExtPaintManagerXP), RUNTIME_CLASS(CExtPaintManagerOffice2003),
                                  RUNTIME_CLASS(CExtPaintManagerStudio2005)};

template <class T>
void Make(T& strip, TabHost& host, int cy, DWORD dwStyle, int nSel)
{
    ASSERT_TRUE(strip.Create(host.Wnd(), CRect(0, 0, 400, cy), 100, WS_CHILD | WS_VISIBLE, dwStyle));
    for (const char* s : {"One", "Two", "Three"})
        strip.ItemInsert(s);
    strip.SelectionSet(nSel, false, true);
    strip.UpdateTabWnd(true);
}

}  // namespace

TEST(TabFlatWnd, SlantMetricsAndItemWidening)
{
    TabHost host;
    struct Case
    {
        const char* sName;
        DWORD dwStyle;
        int nFirstMetric;
        int nWidening;
    } const kCases[] = {
        {"both ends slanted", 0, 3, 12},
        {"start straight", 0x20000, -1, 12},
        {"both straight", 0x60000, -1, 0},
    };
    for (const Case& c : kCases)
    {
        SCOPED_TRACE(c.sName);
        Strip<CExtTabFlatWnd> flat;
        Strip<CExtTabButtonsWnd> buttons;
        Make(flat, host, 20, c.dwStyle, 0);
        Make(buttons, host, 20, c.dwStyle, 0);
        int m1 = 0, m2 = 9, m3 = 9;
        flat.OnTabWndQueryMetrics(m1, m2, m3);
        EXPECT_EQ(5, flat.GetItemSlant(true, CRect(0, 0, 400, 20)));
        EXPECT_EQ(c.nFirstMetric, m1);
        EXPECT_EQ(0, m2 + m3);
        for (int i = 0; i < 3; i++)
        {
            EXPECT_EQ(buttons.ItemGet(i)->GetSize().cx + c.nWidening, flat.ItemGet(i)->GetSize().cx) << i;
            EXPECT_EQ(20, flat.ItemGet(i)->GetSize().cy) << i;
        }
        flat.DestroyWindow();
        buttons.DestroyWindow();
    }
}

TEST(TabFlatWnd, ColoursPerThemeAndSelectedItemInFront)
{
    TabHost host;
    for (CRuntimeClass* pTheme : kThemes)
    {
        SCOPED_TRACE(pTheme->m_lpszClassName);
        ASSERT_TRUE(g_CurrentPaintManager.InstallPaintManagerByClass(pTheme));
        CExtPaintManager* pPM = g_CurrentPaintManager.GetPM();
        Strip<CExtTabFlatWnd> flat;
        Make(flat, host, 24, 0, 0);
        testsupport::DibCanvas canvas(400, 24, RGB(1, 2, 3));
        flat.OnTabWndDrawEntire(*CDC::FromHandle(canvas.Dc()), CRect(0, 0, 400, 24));
        const CRect rc0 = flat.ItemInView(0), rc1 = flat.ItemInView(1), rc2 = flat.ItemInView(2);
        const bool b2003 = pPM->IsKindOf(RUNTIME_CLASS(CExtPaintManagerOffice2003));
        struct Point
        {
            const char* sWhat;
            int x, y;
            COLORREF clr;
        } const kPoints[] = {
            {"selected fill", rc0.CenterPoint().x, rc0.top + 3, RGB(255, 255, 255)},
            {"other fill", rc2.CenterPoint().x, rc2.top + 3, pPM->LookupColor(1000, &flat)},
            {"outer edge of other item", rc2.CenterPoint().x, rc2.top, pPM->LookupColor(COLOR_3DDKSHADOW, &flat)},
            {"outer edge of selected item", rc0.CenterPoint().x, rc0.top, pPM->LookupColor(COLOR_BTNSHADOW, &flat)},
            {"selected over its neighbour", rc1.left + 1, rc1.bottom - 2, RGB(255, 255, 255)},
            {"band line", 300, 23, pPM->LookupColor(COLOR_3DDKSHADOW, &flat)},
            {"background", 300, 2, pPM->LookupColor(b2003 ? 2001 : 1000, &flat)},
        };
        for (const Point& p : kPoints)
            EXPECT_EQ(p.clr, canvas.Pixel(p.x, p.y)) << p.sWhat << " at " << p.x << "," << p.y;
        flat.DestroyWindow();
    }
    g_CurrentPaintManager.InstallPaintManagerByClass(RUNTIME_CLASS(CExtPaintManagerXP));
}

TEST(TabButtonsWnd, OnlyTheSelectedItemIsAFramedWhiteButton)
{
    TabHost host;
    for (CRuntimeClass* pTheme : kThemes)
    {
        SCOPED_TRACE(pTheme->m_lpszClassName);
        ASSERT_TRUE(g_CurrentPaintManager.InstallPaintManagerByClass(pTheme));
        CExtPaintManager* pPM = g_CurrentPaintManager.GetPM();
        Strip<CExtTabButtonsWnd> buttons;
        Make(buttons, host, 24, 0, 1);
        EXPECT_EQ(3, buttons.OnTabWndQueryBandExtra(0));
        EXPECT_EQ(1, buttons.OnTabWndQueryBandExtra(3));
        testsupport::DibCanvas canvas(400, 24, RGB(1, 2, 3));
        buttons.OnTabWndDrawEntire(*CDC::FromHandle(canvas.Dc()), CRect(0, 0, 400, 24));
        const CRect rc1 = buttons.ItemInView(1), rc2 = buttons.ItemInView(2);
        // The strip's own background alone (the theme's parent background or colour 1000).
        testsupport::DibCanvas background(400, 24, RGB(1, 2, 3));
        buttons.OnTabWndEraseClientArea(*CDC::FromHandle(background.Dc()), CRect(0, 0, 400, 24),
                                        buttons.GetItemsArea(), buttons.GetBorderArea(), 0, false);
        struct Point
        {
            const char* sWhat;
            int x, y;
            COLORREF clr;
        } const kPoints[] = {
            {"selected frame", rc1.left, rc1.top + 3, pPM->LookupColor(COLOR_3DDKSHADOW, &buttons)},
            {"selected fill", rc1.left + 1, rc1.top + 1, RGB(255, 255, 255)},
            {"other item", rc2.left + 1, rc2.top + 1, background.Pixel(rc2.left + 1, rc2.top + 1)},
            {"other item's edge", rc2.left, rc2.top + 3, background.Pixel(rc2.left, rc2.top + 3)},
        };
        for (const Point& p : kPoints)
            EXPECT_EQ(p.clr, canvas.Pixel(p.x, p.y)) << p.sWhat;

        // Scroll and close buttons: raised frame on hover, sunken while pressed.
        struct Frame
        {
            bool bHover, bPushed;
            int nTopLeft, nBottomRight;
        } const kFrames[] = {{true, false, COLOR_3DHILIGHT, COLOR_3DDKSHADOW},
                             {false, true, COLOR_3DDKSHADOW, COLOR_3DHILIGHT}};
        for (const Frame& f : kFrames)
        {
            canvas.Fill(RGB(1, 2, 3));
            buttons.OnTabWndDrawButton(*CDC::FromHandle(canvas.Dc()), CRect(10, 4, 24, 18), -7, true, true, true,
                                       f.bHover, f.bPushed, false);
            EXPECT_EQ(pPM->LookupColor(f.nTopLeft, &buttons), canvas.Pixel(10, 4)) << f.bPushed;
            EXPECT_EQ(pPM->LookupColor(f.nBottomRight, &buttons), canvas.Pixel(23, 17)) << f.bPushed;
        }
        buttons.DestroyWindow();
    }
    g_CurrentPaintManager.InstallPaintManagerByClass(RUNTIME_CLASS(CExtPaintManagerXP));
}
