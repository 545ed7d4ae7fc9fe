// The OneNote tab strip: palette colours in turn, explicit colours, item sizes, colours
// kept by a move, and the shadow line and page colour along the items' content side.
#include <gtest/gtest.h>
#include "tab_wnd_test_strip.h"
#include "support/dib_canvas.h"
#include "toolkit/dialogs/tab_onenote_wnd.h"

namespace {

class OneNoteStrip : public CExtTabOneNoteWnd
{
public:
    CRect ItemInView(int n) { return _GetItemRectInView(n); }
};

}  // namespace

TEST(TabOneNoteWnd, PaletteColoursSizesAndMoves)
{
    TabHost host;
    OneNoteStrip strip;
    ASSERT_TRUE(strip.Create(host.Wnd(), CRect(0, 0, 500, 30), 100, WS_CHILD | WS_VISIBLE, 0));
    strip.ItemInsert("a");
    CExtTabWnd plain;
    ASSERT_TRUE(plain.Create(host.Wnd(), CRect(0, 0, 500, 30), 101, WS_CHILD | WS_VISIBLE, 0));
    plain.ItemInsert("a");
    strip.UpdateTabWnd(true);
    plain.UpdateTabWnd(true);
    EXPECT_EQ(CSize(plain.ItemGet(0)->GetSize().cx + 19, 19), strip.ItemGet(0)->GetSize());
    int m1 = 0, m2 = 0, m3 = 0;
    strip.OnTabWndQueryMetrics(m1, m2, m3);
    EXPECT_EQ(1, m1);
    EXPECT_EQ(2, m2);
    EXPECT_EQ(3, m3);

    strip.ItemInsert("explicit", NULL, 0, -1, 0, RGB(1, 2, 3), RGB(4, 5, 6));
    for (int i = 0; i < 7; i++)
        strip.ItemInsert("more");
    struct Case
    {
        int nItem;
        COLORREF clrLight, clrDark;
    } const kCases[] = {
        {0, 0x00F7E6DD, 0x00E4A88A}, {1, RGB(1, 2, 3), RGB(4, 5, 6)}, {2, 0x00D5F4FF, 0x0069D8FF},
        {7, 0x00D9E9FC, 0x0078B0F6}, {8, 0x00F7E6DD, 0x00E4A88A},
    };
    for (const Case& c : kCases)
    {
        COLORREF clrLight = 0, clrDark = 0;
        ASSERT_TRUE(strip.ItemGetColors(c.nItem, &clrLight, &clrDark)) << c.nItem;
        EXPECT_EQ(c.clrLight, clrLight) << c.nItem;
        EXPECT_EQ(c.clrDark, clrDark) << c.nItem;
    }
    EXPECT_EQ(8, strip.GetNextPaletteIndex());
    ASSERT_TRUE(strip.ItemMove(1, 4, true));
    COLORREF clrLight = 0;
    ASSERT_TRUE(strip.ItemGetColors(4, &clrLight, NULL));
    EXPECT_EQ(RGB(1, 2, 3), clrLight);
    EXPECT_EQ(4, strip.SelectionGet());
}

TEST(TabOneNoteWnd, ContentSideLineAndPageColour)
{
    TabHost host;
    OneNoteStrip strip;
    ASSERT_TRUE(strip.Create(host.Wnd(), CRect(0, 0, 500, 28), 100, WS_CHILD | WS_VISIBLE, 0));
    for (const char* s : {"One", "Two", "Three"})
        strip.ItemInsert(s);
    strip.SelectionSet(1, false, true);
    strip.UpdateTabWnd(true);
    testsupport::DibCanvas canvas(500, 28, RGB(1, 2, 3));
    strip.OnTabWndDrawEntire(*CDC::FromHandle(canvas.Dc()), CRect(0, 0, 500, 28));
    CExtPaintManager* pPM = g_CurrentPaintManager.GetPM();
    const CRect rcItems = strip.GetItemsArea(), rc2 = strip.ItemInView(2);
    COLORREF clrSelLight = 0, clrLight2 = 0, clrDark2 = 0;
    strip.ItemGetColors(1, &clrSelLight, NULL);
    strip.ItemGetColors(2, &clrLight2, &clrDark2);
    struct Point
    {
        const char* sWhat;
        int x, y;
        COLORREF clr;
    } const kPoints[] = {
        {"shadow line", 480, rcItems.bottom, pPM->LookupColor(COLOR_3DSHADOW, &strip)},
        {"page colour beyond it", 480, rcItems.bottom + 1, clrSelLight},
        {"outer outline of an item", rc2.CenterPoint().x, rc2.top, pPM->LookupColor(COLOR_3DSHADOW, &strip)},
        {"dark band inside it", rc2.CenterPoint().x, rc2.top + 1, clrDark2},
        {"background above the items", 480, 0, pPM->LookupColor(COLOR_3DLIGHT, &strip)},
    };
    for (const Point& p : kPoints)
        EXPECT_EQ(p.clr, canvas.Pixel(p.x, p.y)) << p.sWhat;
}
