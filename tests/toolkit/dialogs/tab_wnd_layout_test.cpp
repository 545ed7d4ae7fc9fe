// Tab window items and layout: the item list and styles, item rectangles on every side,
// rows, groups, shrinking to fit, scrolling into view, the button row and hit testing.
#include <gtest/gtest.h>
#include "tab_wnd_test_strip.h"
#include "support/message_pump.h"

namespace {

class TabLayout : public ::testing::Test
{
protected:
    void Make(int cx, int cy, DWORD dwStyle)
    {
        ASSERT_TRUE(m_tabs.Create(m_host.Wnd(), CRect(0, 0, cx, cy), 101, WS_CHILD | WS_VISIBLE, dwStyle));
    }
    void Add(int n, int cx, int cy, DWORD dwItemStyle = 0)
    {
        for (int i = 0; i < n; i++)
            m_tabs.ItemInsert(NULL, (HICON)NULL, dwItemStyle, -1, ItemSize(cx, cy));
    }
    void Relayout()
    {
        m_tabs.UpdateTabWnd(false);
        m_tabs.RecalcLayout();
    }
    CRect ItemRect(int i) { return m_tabs.ItemGet(i)->ItemRectGet(); }

    TabHost m_host;
    TestTabStrip m_tabs;
};

}  // namespace

TEST(TabItems, InsertRemoveSelectionAndVisibleCount)
{
    CExtTabWnd tabs;
    tabs.ItemInsert(_T("a"));
    tabs.ItemInsert(_T("b"));
    tabs.ItemInsert(_T("c"), (HICON)NULL, 0, 99);  // beyond the count: appended
    EXPECT_EQ(3, tabs.ItemGetCount());
    EXPECT_EQ(CString(_T("c")), tabs.ItemGet(2)->GetText());
    EXPECT_EQ(NULL, tabs.ItemGet(3));
    EXPECT_EQ(tabs.ItemGet(1), tabs.ItemGet(0)->GetNext());
    EXPECT_EQ(tabs.ItemGet(1), tabs.ItemGet(2)->GetPrev());

    tabs.SelectionSet(1);
    EXPECT_EQ(1, tabs.SelectionGet());
    EXPECT_TRUE(tabs.ItemGet(1)->SelectedGet());
    EXPECT_TRUE(tabs.ItemGet(1)->InGroupActiveGet()) << "selection implies group-active";
    tabs.ItemInsert(_T("z"), (HICON)NULL, 0, 0);
    EXPECT_EQ(2, tabs.SelectionGet()) << "inserting before the selection moves it up";
    EXPECT_EQ(NULL, tabs.ItemGet(0)->GetPrev());
    EXPECT_EQ(tabs.ItemGet(1), tabs.ItemGet(0)->GetNext());

    EXPECT_EQ(4, tabs.ItemGetVisibleCount());
    tabs.ItemGet(3)->ModifyItemStyle(0, 0x01);
    EXPECT_EQ(3, tabs.ItemGetVisibleCount());
    tabs.ItemGet(3)->ModifyItemStyle(0, 0x01);
    EXPECT_EQ(3, tabs.ItemGetVisibleCount()) << "hiding twice changes nothing";

    EXPECT_EQ(1, tabs.ItemRemove(0, 1));
    EXPECT_EQ(1, tabs.SelectionGet()) << "removing before the selection moves it back";
    EXPECT_EQ(2, tabs.ItemRemove(1, 5)) << "the count is cut to the end";
    EXPECT_EQ(-1, tabs.SelectionGet()) << "the selected item went";
    EXPECT_EQ(1, tabs.ItemGetCount());
    EXPECT_EQ(NULL, tabs.ItemGet(0)->GetNext());
    EXPECT_EQ(1, tabs.ItemGetVisibleCount());
    EXPECT_EQ(0, tabs.ItemRemove(5, 1));
    EXPECT_EQ(0, tabs.ItemRemove(0, 0));
    tabs.ItemRemoveAll();
    EXPECT_EQ(0, tabs.ItemGetCount());
    EXPECT_EQ(0, tabs.ItemGetVisibleCount());
}

TEST(TabItems, GroupActiveIsUniqueInItsGroup)
{
    CExtTabWnd tabs;
    tabs.ItemInsert(_T("a"));
    tabs.ItemInsert(_T("b"));
    tabs.ItemInsert(_T("c"), (HICON)NULL, 0x02);
    tabs.ItemInsert(_T("d"));
    tabs.ItemGet(0)->ModifyItemStyle(0, 0x08);
    tabs.ItemGet(3)->ModifyItemStyle(0, 0x08);
    tabs.SelectionSet(1);
    EXPECT_FALSE(tabs.ItemGet(0)->InGroupActiveGet()) << "same group: loses group-active";
    EXPECT_TRUE(tabs.ItemGet(1)->InGroupActiveGet());
    EXPECT_TRUE(tabs.ItemGet(3)->InGroupActiveGet()) << "other group keeps its active item";
    tabs.SelectionSet(2);
    EXPECT_TRUE(tabs.ItemGet(1)->InGroupActiveGet()) << "the group start walks only forwards";
    EXPECT_FALSE(tabs.ItemGet(3)->InGroupActiveGet());
    EXPECT_FALSE(tabs.ItemGet(1)->SelectedGet());
    EXPECT_EQ(2, tabs.ItemGetGroupFirst(3));
    EXPECT_EQ(3, tabs.ItemGetGroupLast(2));
    EXPECT_EQ(0, tabs.ItemGetGroupFirst(1));
    EXPECT_EQ(1, tabs.ItemGetGroupLast(0));
}

TEST(TabItems, FindByLParamAndStyle)
{
    CExtTabWnd tabs;
    tabs.ItemInsert(_T("a"), (HICON)NULL, 0, -1, 7);
    tabs.ItemInsert(_T("b"), (HICON)NULL, 0x01, -1, 7);
    tabs.ItemInsert(_T("c"), (HICON)NULL, 0x20, -1, 7);
    EXPECT_EQ(0, tabs.ItemFindByLParam(7));
    EXPECT_EQ(2, tabs.ItemFindByLParam(7, 0)) << "visible only skips the hidden one";
    EXPECT_EQ(1, tabs.ItemFindByLParam(7, 0, true, true));
    EXPECT_EQ(1, tabs.ItemFindByLParam(7, -1, false, true)) << "invisible only";
    EXPECT_EQ(0, tabs.ItemFindByLParam(7, -1, false, false)) << "no filter";
    EXPECT_EQ(-1, tabs.ItemFindByLParam(8));
    EXPECT_EQ(2, tabs.ItemFindByStyle(0x20));
    EXPECT_EQ(0, tabs.ItemFindByStyle(0, 0x21));
    EXPECT_EQ(-1, tabs.ItemFindByStyle(0, 0x21, 0));
}

TEST_F(TabLayout, TopStripPlacesItemsBorderAndScrollButtons)
{
    Make(400, 40, 0);
    m_tabs.ItemInsert(NULL, (HICON)NULL, 0, -1, ItemSize(100, 20));
    m_tabs.ItemInsert(NULL, (HICON)NULL, 0, -1, ItemSize(50, 22));
    m_tabs.ItemInsert(NULL, (HICON)NULL, 0, -1, ItemSize(80, 20));
    Relayout();
    // Two reserved scroll buttons: 2 + 2 x (14 + 2) = 34.
    EXPECT_RECT(CRect(4, 2, 364, 24), m_tabs.GetItemsArea());
    EXPECT_RECT(CRect(0, 24, 400, 40), m_tabs.GetBorderArea());
    EXPECT_RECT(CRect(0, 2, 100, 22), ItemRect(0));
    EXPECT_RECT(CRect(100, 2, 150, 24), ItemRect(1));
    EXPECT_RECT(CRect(150, 2, 230, 22), ItemRect(2));
    EXPECT_EQ(230, m_tabs.GetItemsExtent());
    EXPECT_EQ(0, m_tabs.GetScrollMaxPos());
    EXPECT_EQ(0, m_tabs.GetIndexVisibleFirst());
    EXPECT_EQ(2, m_tabs.GetIndexVisibleLast());
    EXPECT_RECT(CRect(382, 6, 396, 20), m_tabs.GetButtonRect(CExtTabWnd::__BTN_DOWN));
    EXPECT_RECT(CRect(366, 6, 380, 20), m_tabs.GetButtonRect(CExtTabWnd::__BTN_UP));
    EXPECT_TRUE(m_tabs.GetButtonRect(CExtTabWnd::__BTN_CLOSE).IsRectEmpty());
    EXPECT_EQ(0u, m_tabs.GetTabWndStyle() & 0x03000C00u) << "nothing to scroll: buttons disabled";

    struct { POINT pt; int nHit; const char* what; } cases[] = {
        {{14, 10}, 0, "first item"},
        {{104, 10}, 1, "left edge of the second item"},
        {{103, 10}, 0, "right edge of the first item is outside it"},
        {{239, 10}, -3, "items area behind the last item"},
        {{10, 30}, -2, "border area"},
        {{383, 10}, -5, "scroll forward"},
        {{367, 10}, -4, "scroll back"},
        {{398, 3}, -1, "outside every part"},
        {{400, 10}, -1, "outside the client area"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.nHit, m_tabs.ItemHitTest(c.pt)) << c.what;
}

TEST_F(TabLayout, EveryOrientationTakesItsSide)
{
    struct Case
    {
        int nOrientation, cx, cy;
        CRect rcItems, rcBorder, rcFirst;
    } cases[] = {
        {0, 400, 40, CRect(4, 2, 364, 24), CRect(0, 24, 400, 40), CRect(0, 2, 100, 22)},
        {1, 400, 40, CRect(4, 16, 364, 38), CRect(0, 0, 400, 16), CRect(0, 16, 100, 36)},
        {2, 40, 400, CRect(2, 4, 24, 364), CRect(24, 0, 40, 400), CRect(2, 0, 22, 100)},
        {3, 40, 400, CRect(16, 4, 38, 364), CRect(0, 0, 16, 400), CRect(16, 0, 36, 100)},
    };
    for (const Case& c : cases)
    {
        TabHost host;
        TestTabStrip tabs;
        ASSERT_TRUE(tabs.Create(host.Wnd(), CRect(0, 0, c.cx, c.cy), 1, WS_CHILD | WS_VISIBLE, (DWORD)c.nOrientation));
        const bool bHorz = c.nOrientation <= 1;
        tabs.ItemInsert(NULL, (HICON)NULL, 0, -1, bHorz ? ItemSize(100, 20) : ItemSize(20, 100));
        tabs.ItemInsert(NULL, (HICON)NULL, 0, -1, bHorz ? ItemSize(50, 22) : ItemSize(22, 50));
        tabs.UpdateTabWnd(false);
        tabs.RecalcLayout();
        EXPECT_RECT(c.rcItems, tabs.GetItemsArea()) << "orientation " << c.nOrientation;
        EXPECT_RECT(c.rcBorder, tabs.GetBorderArea()) << "orientation " << c.nOrientation;
        EXPECT_RECT(c.rcFirst, tabs.ItemGet(0)->ItemRectGet()) << "orientation " << c.nOrientation;
        const CRect rcDown = tabs.GetButtonRect(CExtTabWnd::__BTN_DOWN);
        if (bHorz)
            EXPECT_EQ(396, rcDown.right) << "orientation " << c.nOrientation;
        else
            EXPECT_EQ(396, rcDown.bottom) << "orientation " << c.nOrientation;
    }
}

TEST_F(TabLayout, MultiRowWrapsItemsIntoRows)
{
    Make(200, 100, 0x04000000);
    Add(6, 80, 20);
    m_tabs.ItemGet(3)->LParamSet(ItemSize(80, 26));
    Relayout();
    // No scroll buttons in rows; each row takes what fits in 200 pixels.
    EXPECT_RECT(CRect(4, 0, 198, 66), m_tabs.GetItemsArea());
    const CRect expected[6] = {CRect(0, 0, 80, 20),  CRect(80, 0, 160, 20),  CRect(0, 20, 80, 40),
                               CRect(80, 20, 160, 46), CRect(0, 46, 80, 66), CRect(80, 46, 160, 66)};
    for (int i = 0; i < 6; i++)
    {
        EXPECT_RECT(expected[i], ItemRect(i)) << "item " << i;
        EXPECT_EQ(i == 2 || i == 4, m_tabs.ItemGet(i)->IsNewRow()) << "item " << i;
    }
    EXPECT_EQ(0, m_tabs.GetScrollMaxPos());
    EXPECT_EQ(0, m_tabs.GetIndexVisibleFirst());
    EXPECT_EQ(5, m_tabs.GetIndexVisibleLast());
    EXPECT_TRUE(m_tabs.GetButtonRect(CExtTabWnd::__BTN_UP).IsRectEmpty());
}

TEST_F(TabLayout, GroupsKeepLengthsAndGaps)
{
    Make(600, 40, 0x80 | 0x00200000);
    m_tabs.ItemInsert(NULL, (HICON)NULL, 0, -1, ItemSize(50, 20));
    m_tabs.ItemInsert(NULL, (HICON)NULL, 0, -1, ItemSize(60, 20));
    m_tabs.ItemInsert(NULL, (HICON)NULL, 0x02, -1, ItemSize(40, 20));
    Relayout();
    EXPECT_EQ(10 + 50 + 60 + 20 + 40, m_tabs.GetItemsExtent());
    EXPECT_EQ(0, ItemRect(0).left);
    EXPECT_EQ(50, ItemRect(1).left);
    EXPECT_EQ(130, ItemRect(2).left) << "20 pixels before a new group";
    EXPECT_EQ(170, ItemRect(2).right);
}

TEST_F(TabLayout, GroupsShowTheActiveItemWhole)
{
    Make(600, 40, 0x80);
    m_tabs.ItemInsert(_T("Alpha"), (HICON)NULL, 0, -1, ItemSize(50, 20));
    m_tabs.ItemInsert(_T("Beta"), (HICON)NULL, 0, -1, ItemSize(60, 20));
    m_tabs.ItemInsert(_T("Gamma"), (HICON)NULL, 0x02, -1, ItemSize(40, 20));
    m_tabs.SelectionSet(1);
    Relayout();
    const int tA = m_tabs.ItemGet(0)->GetTextSize().cx, tB = m_tabs.ItemGet(1)->GetTextSize().cx;
    const int tC = m_tabs.ItemGet(2)->GetTextSize().cx;
    ASSERT_GT(tA, 0);
    const int nReduced1 = std::max(50 - tA, 60 - tB);
    EXPECT_EQ(nReduced1, ItemRect(0).Width()) << "inactive item shows its icon only";
    EXPECT_EQ(60, ItemRect(1).Width()) << "the group-active item keeps the group's full length";
    EXPECT_EQ(40 - tC, ItemRect(2).Width()) << "a group without an active item";
    EXPECT_EQ(10 + nReduced1 + 60 + 20 + 40, m_tabs.GetItemsExtent());
    EXPECT_EQ(nReduced1 + 60 + 20, ItemRect(2).left);
}

TEST_F(TabLayout, FitModeSharesTheStripExactly)
{
    // Fit mode reserves no scroll buttons: the items area is 306 - 4 - 2 = 300.
    Make(306, 40, 0x04);
    Add(5, 100, 20);
    Relayout();
    ASSERT_EQ(300, m_tabs.GetItemsArea().Width());
    for (int i = 0; i < 5; i++)
    {
        EXPECT_RECT(CRect(60 * i, 2, 60 * i + 60, 22), ItemRect(i)) << "item " << i;
        EXPECT_TRUE(m_tabs.ItemGet(i)->IsShortened()) << "item " << i;
    }
    EXPECT_NE(0, m_tabs.GetTabWndState() & CExtTabWnd::__ETWST_SHORTENED_ITEMS);
    EXPECT_EQ(0, m_tabs.GetScrollMaxPos());

    Add(15, 100, 20);
    Relayout();
    for (int i = 0; i < 20; i++)
        EXPECT_EQ(24, ItemRect(i).Width()) << "minimum length, item " << i;
    EXPECT_EQ(480, m_tabs.GetItemsExtent());

    // Items that fit keep their lengths unless every item is to be equal.
    m_tabs.ItemRemoveAll();
    Add(5, 40, 20);
    Relayout();
    EXPECT_EQ(40, ItemRect(4).Width());
    EXPECT_EQ(0, m_tabs.GetTabWndState() & CExtTabWnd::__ETWST_SHORTENED_ITEMS);
    m_tabs.ModifyTabWndStyle(0, 0x2000);
    Relayout();
    EXPECT_RECT(CRect(240, 2, 300, 22), ItemRect(4));
    EXPECT_FALSE(m_tabs.ItemGet(4)->IsShortened()) << "made longer, not shortened";
}

TEST_F(TabLayout, ScrollingBringsItemsIntoView)
{
    Make(400, 40, 0);
    Add(10, 100, 20);
    Relayout();
    EXPECT_EQ(1000, m_tabs.GetItemsExtent());
    EXPECT_EQ(640, m_tabs.GetScrollMaxPos());
    EXPECT_EQ(0x02000800u, m_tabs.GetTabWndStyle() & 0x03000C00u) << "only forward and last enabled";
    EXPECT_EQ(0, m_tabs.GetIndexVisibleFirst());
    EXPECT_EQ(3, m_tabs.GetIndexVisibleLast());

    EXPECT_TRUE(m_tabs.ItemEnsureVisible(5));
    m_tabs.RecalcLayout();
    EXPECT_EQ(240, m_tabs.GetScrollPos()) << "600 - 366 past the limit, then 6 more";
    EXPECT_EQ(2, m_tabs.GetIndexVisibleFirst());
    EXPECT_EQ(6, m_tabs.GetIndexVisibleLast());
    EXPECT_EQ(0x03000C00u, m_tabs.GetTabWndStyle() & 0x03000C00u);
    EXPECT_EQ(2, m_tabs.ItemHitTest(CPoint(14, 10))) << "the hit test follows the scroll position";

    EXPECT_TRUE(m_tabs.ItemEnsureVisible(9));
    m_tabs.RecalcLayout();
    EXPECT_EQ(640, m_tabs.GetScrollPos()) << "never beyond the maximum";
    EXPECT_TRUE(m_tabs.ItemEnsureVisible(0));
    m_tabs.RecalcLayout();
    EXPECT_EQ(0, m_tabs.GetScrollPos());

    m_tabs.ItemEnsureVisible(9);
    m_tabs.ItemRemove(5, 5);
    Relayout();
    EXPECT_EQ(m_tabs.GetScrollMaxPos(), m_tabs.GetScrollPos()) << "cut back to the new maximum";
    EXPECT_EQ(140, m_tabs.GetScrollPos());
}

TEST_F(TabLayout, ButtonsStandInTheirOrder)
{
    Make(400, 40, 0x08 | 0x10 | 0x00080000 | 0x00020000 | 0x00040000);
    Add(3, 50, 20);
    Relayout();
    // Seven buttons: 2 + 7 x 16 = 114 pixels, centred on the 20-pixel items area.
    EXPECT_EQ(400 - 2 - 114, m_tabs.GetItemsArea().right);
    const int order[7] = {CExtTabWnd::__BTN_HOME, CExtTabWnd::__BTN_UP, CExtTabWnd::__BTN_DOWN, CExtTabWnd::__BTN_END,
                          CExtTabWnd::__BTN_HELP, CExtTabWnd::__BTN_TAB_LIST, CExtTabWnd::__BTN_CLOSE};
    for (int i = 0; i < 7; i++)
        EXPECT_RECT(CRect(286 + 16 * i, 5, 300 + 16 * i, 19), m_tabs.GetButtonRect(order[i])) << "button " << i;
    EXPECT_EQ(-9, m_tabs.ItemHitTest(CPoint(290, 10)));
    EXPECT_EQ(-10, m_tabs.ItemHitTest(CPoint(334, 10)));
    EXPECT_EQ(-6, m_tabs.ItemHitTest(CPoint(350, 10)));
    EXPECT_EQ(-8, m_tabs.ItemHitTest(CPoint(366, 10)));
    EXPECT_EQ(-7, m_tabs.ItemHitTest(CPoint(395, 18)));

    // Hidden while everything fits, but their room stays reserved.
    m_tabs.ModifyTabWndStyle(0, 0x4000);
    Relayout();
    EXPECT_EQ(400 - 2 - 114, m_tabs.GetItemsArea().right);
    EXPECT_TRUE(m_tabs.GetButtonRect(CExtTabWnd::__BTN_UP).IsRectEmpty());
    EXPECT_TRUE(m_tabs.GetButtonRect(CExtTabWnd::__BTN_HOME).IsRectEmpty());
    EXPECT_EQ(-1, m_tabs.ItemHitTest(CPoint(290, 10))) << "an absent button falls through to the items-area test";
    EXPECT_EQ(-3, m_tabs.ItemHitTest(CPoint(250, 10)));
    Add(10, 50, 20);
    Relayout();
    EXPECT_RECT(CRect(302, 5, 316, 19), m_tabs.GetButtonRect(CExtTabWnd::__BTN_UP)) << "shown once items overflow";
}

TEST_F(TabLayout, EmptyClientKeepsEmptyRectanglesUntilSized)
{
    Make(0, 0, 0);
    Add(2, 50, 20);
    Relayout();
    EXPECT_TRUE(m_tabs.GetItemsArea().IsRectEmpty());
    EXPECT_EQ(-1, m_tabs.GetIndexVisibleFirst());
    EXPECT_EQ(-1, m_tabs.ItemHitTest(CPoint(0, 0)));
    m_tabs.SetWindowPos(NULL, 0, 0, 300, 40, SWP_NOZORDER | SWP_NOACTIVATE);
    testsupport::PumpPending();
    m_tabs.RecalcLayout();
    EXPECT_RECT(CRect(4, 2, 264, 22), m_tabs.GetItemsArea());
}

TEST_F(TabLayout, MeasuredItemsHaveTheirMinimumSize)
{
    Make(400, 40, 0);
    CExtTabWnd::TAB_ITEM_INFO* pTii = m_tabs.ItemInsert(_T(""));
    CSize sz = pTii->Measure();
    EXPECT_EQ(24, sz.cx);
    EXPECT_EQ(20, sz.cy);
    m_tabs.OrientationSet(2);
    sz = pTii->Measure();
    EXPECT_EQ(20, sz.cx);
    EXPECT_EQ(24, sz.cy);
    pTii->TextSet(_T("A long caption"));
    m_tabs.OrientationSet(0);
    sz = pTii->Measure();
    EXPECT_EQ(pTii->GetTextSize().cx + 7, sz.cx) << "text width + 3 + 4 without an icon";
}

TEST_F(TabLayout, FrameSizePassTakesTheBand)
{
    Make(300, 30, 0);
    Add(2, 50, 20);
    AFX_SIZEPARENTPARAMS layout = {};
    ::SetRect(&layout.rect, 0, 0, 300, 200);
    m_tabs.SendMessage(WM_SIZEPARENT, 0, (LPARAM)&layout);
    // Items area 20 high plus the band extra of the theme (6 when it does not answer).
    const int nBand = 20 + m_tabs.OnTabWndQueryBandExtra(0);
    EXPECT_RECT(CRect(0, nBand, 300, 200), CRect(layout.rect));
    EXPECT_EQ(nBand, layout.sizeTotal.cy);

    m_tabs.SizeParentModeSet(false);
    AFX_SIZEPARENTPARAMS layout2 = {};
    ::SetRect(&layout2.rect, 0, 0, 300, 200);
    m_tabs.SendMessage(WM_SIZEPARENT, 0, (LPARAM)&layout2);
    EXPECT_RECT(CRect(0, 0, 300, 200), CRect(layout2.rect)) << "left out of the size pass";
}

TEST(TabWindowClass, SubclassedControlTakesTheTabStyleFromTheWindowStyle)
{
    TabHost host;
    CExtTabWnd tabs;  // registers the class
    WNDCLASS wc;
    ASSERT_TRUE(::GetClassInfo(::AfxGetInstanceHandle(), _T("Kestrix-TabWindow"), &wc));
    EXPECT_EQ(UINT(CS_GLOBALCLASS | CS_DBLCLKS), wc.style);
    EXPECT_EQ(::LoadCursor(NULL, IDC_ARROW), wc.hCursor);
    HWND hWnd = ::CreateWindowEx(0, _T("Kestrix-TabWindow"), NULL, WS_CHILD | WS_VISIBLE | 0x0091, 0, 0, 200, 30,
                                 host.m_hWnd, (HMENU)7, ::AfxGetInstanceHandle(), NULL);
    ASSERT_TRUE(hWnd != NULL);
    ASSERT_TRUE(tabs.SubclassWindow(hWnd));
    EXPECT_EQ(0x0091u, tabs.GetTabWndStyle());
    EXPECT_EQ(1, tabs.OrientationGet());
    EXPECT_EQ(0u, (DWORD)::GetWindowLong(hWnd, GWL_STYLE) & 0xFFFFu) << "taken out of the window style";
    EXPECT_TRUE(tabs.m_pToolTip != NULL && tabs.m_pToolTip->GetSafeHwnd() != NULL);
    tabs.DestroyWindow();
}
