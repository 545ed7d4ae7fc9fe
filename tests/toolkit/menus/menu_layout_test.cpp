// Menu layout: which items show (separator rules, expanded menus), the icon column, item
// and service rectangles by exact arithmetic, hit testing, the window size and keyboard
// navigation targets; and the palette layout's rows.
#include <gtest/gtest.h>

#include "framework/framework.h"
#include "toolkit/menus/popup_menu_wnd.h"
#include "toolkit/theme/paint_manager.h"

#include <vector>

namespace {

typedef CExtPopupMenuWnd::MENUITEMDATA MID;

class MenuLayoutTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        g_CurrentPaintManager.InstallPaintManagerByClass(RUNTIME_CLASS(CExtPaintManagerXP));
        m_hWndRecv = ::CreateWindowA("STATIC", "", WS_POPUP, 0, 0, 10, 10, NULL, NULL, NULL, NULL);
        ASSERT_TRUE(m_menu.CreatePopupMenu(m_hWndRecv));
        m_menu.SetTrackFlags(CExtPopupMenuWnd::TMF_NO_SHADOW);
    }
    void TearDown() override
    {
        if (m_menu.GetSafeHwnd() != NULL)
            m_menu.DestroyWindow();
        m_menu.ItemRemove(-1);
        ::DestroyWindow(m_hWndRecv);
        g_CurrentPaintManager.InstallPaintManagerByClass(RUNTIME_CLASS(CExtPaintManagerXP));
    }
    // A command item of a fixed measured size, enabled. Inserting re-lays the menu out,
    // so the sizes are applied by Layout() once all items are in.
    void AddCmd(UINT nID, int cx = 100, int cy = 20)
    {
        ASSERT_TRUE(m_menu.ItemInsertCommand(nID, -1, "Item"));
        m_sizes.push_back(CSize(cx, cy));
    }
    void AddSep()
    {
        ASSERT_TRUE(m_menu.ItemInsert(CExtPopupMenuWnd::TYPE_SEPARATOR));
        m_sizes.push_back(CSize(0, 1));
    }
    void Layout()
    {
        for (int i = 0; i < m_menu.ItemGetCount() && i < (int)m_sizes.size(); i++)
        {
            MID& mi = m_menu.ItemGetInfo(i);
            mi.m_nWidth = m_sizes[i].cx;
            mi.m_nHeight = m_sizes[i].cy;
            mi.m_nIconAreaWidth = mi.IsPaletteStyle() ? 0 : 22;
            if (!mi.IsSeparator())
                mi.m_nStateFlags |= MID::__MIS_ENABLED;
        }
        m_menu.RecalcLayout();
    }
    std::string Shown()
    {
        std::string s;
        for (int i = 0; i < m_menu.ItemGetCount(); i++)
            s += m_menu.ItemGetInfo(i).IsDisplayed() ? '1' : '0';
        return s;
    }
    void CreateWindowAt(int cx, int cy)
    {
        ASSERT_TRUE(m_menu.CreateEx(WS_EX_TOPMOST, AfxRegisterWndClass(0), _T(""), WS_POPUP, 0, 0, cx, cy, NULL, 0));
        m_menu.m_rcMenu.SetRect(0, 0, cx, cy);
    }

    HWND m_hWndRecv = NULL;
    CExtPopupMenuWnd m_menu;
    std::vector<CSize> m_sizes;
};

}  // namespace

TEST_F(MenuLayoutTest, SeparatorsNeverLeadRepeatOrEndTheShownList)
{
    AddCmd(1);
    AddSep();
    AddSep();
    AddCmd(2);
    AddSep();
    Layout();
    EXPECT_EQ(Shown(), "11010");
    EXPECT_TRUE(m_menu.HasExpandArea()) << "the second separator is a hidden item";
    // A 21 + separator 2 + B 21; the widest item 1 + 100 + 1.
    EXPECT_EQ(m_menu.m_sizeContent, CSize(102, 44));

    m_menu.SetTrackFlags(CExtPopupMenuWnd::TMF_EXPANDED | CExtPopupMenuWnd::TMF_NO_SHADOW);
    Layout();
    EXPECT_EQ(Shown(), "11111");
    EXPECT_FALSE(m_menu.HasExpandArea());
}

TEST_F(MenuLayoutTest, OnlySeparatorsShowNothingAtTheMinimumWidth)
{
    AddSep();
    AddSep();
    Layout();
    EXPECT_EQ(Shown(), "00");
    EXPECT_TRUE(m_menu.HasExpandArea());
    EXPECT_EQ(m_menu.m_sizeContent, CSize(80, 0));
    // A trailing separator is taken off without giving an expand button.
    m_menu.ItemRemove(-1);
    m_sizes.clear();
    AddCmd(1);
    AddSep();
    Layout();
    EXPECT_EQ(Shown(), "10");
    EXPECT_FALSE(m_menu.HasExpandArea());
}

TEST_F(MenuLayoutTest, TheWidestIconColumnWidensTheOtherItems)
{
    AddCmd(1);
    AddCmd(2);
    AddCmd(3);
    AddSep();
    Layout();
    m_menu.ItemGetInfo(0).m_nIconAreaWidth = 30;
    m_menu.ItemGetInfo(2).m_nLayoutFlags |= MID::__MIF_NO_LEFT_AREA;
    m_menu.ItemGetInfo(2).m_nIconAreaWidth = 0;
    m_menu.RecalcLayout();
    EXPECT_EQ(m_menu.ItemGetInfo(0).m_nWidth, 100);
    EXPECT_EQ(m_menu.ItemGetInfo(1).m_nWidth, 108);
    EXPECT_EQ(m_menu.ItemGetInfo(1).m_nIconAreaWidth, 30);
    EXPECT_EQ(m_menu.ItemGetInfo(2).m_nWidth, 100) << "an own-width item keeps its width";
    EXPECT_EQ(m_menu.ItemGetInfo(3).m_nIconAreaWidth, 30);
    EXPECT_EQ(m_menu.ItemGetInfo(3).m_nWidth, 0) << "a separator only gets the column";
}

TEST_F(MenuLayoutTest, ItemRectanglesStackBelowTheTopMarginAndTheLastRowIsShorter)
{
    AddCmd(1);
    AddSep();
    AddCmd(2);
    Layout();
    // XP margins are 1 on every side; rows start one pixel below the top margin.
    CRect rc;
    m_menu.GetItemRect(0, rc, false);
    EXPECT_EQ(rc, CRect(1, 2, 103, 23));
    m_menu.GetItemRect(0, rc, true);
    EXPECT_EQ(rc, CRect(2, 2, 102, 22));
    m_menu.GetItemRect(1, rc, false);
    EXPECT_EQ(rc, CRect(1, 23, 103, 25));
    m_menu.GetItemRect(2, rc, false);
    EXPECT_EQ(rc, CRect(1, 25, 103, 45));
    m_menu.GetItemRect(2, rc, true);
    EXPECT_EQ(rc.Height(), 19) << "the last item's bottom margin counts one less";

    // The left area and a scroll offset move the rows once the caches are emptied.
    m_menu.SetLeftAreaWidth(20);
    m_menu.m_nScrollPos = -10;
    m_menu.GetItemRect(0, rc, false);
    EXPECT_EQ(rc, CRect(1, 2, 103, 23)) << "cached until invalidated";
    m_menu.InvalidateItemRects();
    m_menu.GetItemRect(0, rc, false);
    EXPECT_EQ(rc, CRect(21, -8, 123, 13));
}

TEST_F(MenuLayoutTest, HitTestSkipsBordersAndHiddenScrollButtons)
{
    AddCmd(1);
    AddSep();
    AddCmd(2);
    Layout();
    CreateWindowAt(104, 60);
    EXPECT_EQ(m_menu.HitTest(CPoint(50, 1)), -1) << "top border";
    EXPECT_EQ(m_menu.HitTest(CPoint(50, 10)), 0);
    EXPECT_EQ(m_menu.HitTest(CPoint(50, 23)), 1) << "the separator row";
    EXPECT_EQ(m_menu.HitTest(CPoint(50, 30)), 2);
    EXPECT_EQ(m_menu.HitTest(CPoint(1, 30)), -1) << "left of the item's indents";
    EXPECT_EQ(m_menu.HitTest(CPoint(50, 59)), -1) << "below the last row";
    EXPECT_EQ(m_menu.HitTest(CPoint(200, 10)), -1) << "outside the paint rectangle";

    // Scroll buttons: at offset 0 the up button is not hit, at the limit not the down one.
    m_menu.m_rcMenu.SetRect(0, 0, 104, 30);
    m_menu.m_nMenuFlags |= CExtPopupMenuWnd::__MF_SCROLLABLE;
    m_menu.RecalcServiceAreas();
    const int h = g_CurrentPaintManager->GetMenuCheckHeight();
    EXPECT_EQ(m_menu.m_rcScrollTop, CRect(2, 2, 102, 2 + h));
    EXPECT_EQ(m_menu.m_rcScrollBottom, CRect(2, 29 - h - 1, 102, 29 - 1));
    EXPECT_NE(m_menu.HitTest(CPoint(50, 3)), -2);
    EXPECT_EQ(m_menu.HitTest(CPoint(50, 27)), -3);
    m_menu.m_nScrollPos = m_menu.GetScrollLimit();
    m_menu.InvalidateItemRects();
    EXPECT_EQ(m_menu.HitTest(CPoint(50, 3)), -2);
    EXPECT_NE(m_menu.HitTest(CPoint(50, 27)), -3);
}

TEST_F(MenuLayoutTest, ServiceButtonsAreAtLeast18HighInOffice2003)
{
    g_CurrentPaintManager.InstallPaintManagerByClass(RUNTIME_CLASS(CExtPaintManagerOffice2003));
    AddCmd(1);
    Layout();
    m_menu.m_rcMenu.SetRect(0, 0, 120, 100);
    m_menu.m_nMenuFlags |= CExtPopupMenuWnd::__MF_SCROLLABLE | CExtPopupMenuWnd::__MF_EXPAND_AREA;
    m_menu.RecalcServiceAreas();
    const int h = std::max(18, ::GetSystemMetrics(SM_CYMENUCHECK));
    EXPECT_EQ(m_menu.m_rcScrollTop.Height(), h);
    EXPECT_EQ(m_menu.m_rcExpand, CRect(1, 99 - h - 1, 119, 99 - 1));
    EXPECT_EQ(m_menu.m_rcScrollBottom, CRect(2, 99 - h - h - 1, 118, 99 - h - 1));
}

TEST_F(MenuLayoutTest, MenuSizeAddsMarginsLeftAreaShadowAndExpandButton)
{
    AddCmd(1);
    AddSep();
    AddCmd(2);
    Layout();
    CSize size;
    m_menu.CalcMenuSize(size);
    EXPECT_EQ(size, CSize(104, 47));
    m_menu.SetLeftAreaWidth(20);
    m_menu.SetTrackFlags(0);
    const bool bShadows = CExtPopupBaseWnd::g_bMenuWithShadows;
    CExtPopupBaseWnd::g_bMenuWithShadows = true;
    m_menu.CalcMenuSize(size);
    CExtPopupBaseWnd::g_bMenuWithShadows = bShadows;
    EXPECT_EQ(size, CSize(128, 51)) << "4-pixel shadow";
    m_menu.SetTrackFlags(CExtPopupMenuWnd::TMF_NO_SHADOW);
    m_menu.ItemRemove(-1);
    m_sizes.clear();
    AddSep();
    Layout();
    m_menu.CalcMenuSize(size);
    // Nothing shows: the minimum size, one pixel more, and the expand button's height.
    const int h = g_CurrentPaintManager->GetMenuCheckHeight();
    EXPECT_EQ(size, CSize(102, h + 2 + 2));
}

TEST_F(MenuLayoutTest, NavigationWrapsOrStopsAtTheExpandButton)
{
    AddCmd(1);
    AddSep();
    AddCmd(2);
    AddCmd(3);
    Layout();
    m_menu.ItemGetInfo(3).m_nStateFlags &= ~MID::__MIS_ENABLED;
    struct Case
    {
        int nCur, nCode, nExpected;
    } cases[] = {
        {-1, CExtPopupMenuWnd::NEXT_NEXT, 0},    {0, CExtPopupMenuWnd::NEXT_NEXT, 2},
        {2, CExtPopupMenuWnd::NEXT_NEXT, 0},     {0, CExtPopupMenuWnd::NEXT_PREV, 2},
        {2, CExtPopupMenuWnd::NEXT_PREV, 0},     {2, CExtPopupMenuWnd::NEXT_CURRENT, 2},
        {-1, CExtPopupMenuWnd::NEXT_EXPAND, -1}, {0, -106, -1},
    };
    for (const Case& c : cases)
    {
        m_menu.m_nCurIndex = c.nCur;
        EXPECT_EQ(m_menu.FindNextItem(c.nCode), c.nExpected) << "current " << c.nCur << " code " << c.nCode;
    }
    // A hidden item gives the menu an expand button: "next" after the last item goes there.
    m_menu.ItemRemove(3);
    m_sizes.pop_back();
    AddSep();
    AddSep();
    AddCmd(4);
    Layout();
    ASSERT_TRUE(m_menu.HasExpandArea());
    m_menu.m_nCurIndex = 5;
    EXPECT_EQ(m_menu.FindNextItem(CExtPopupMenuWnd::NEXT_NEXT), -4);
    EXPECT_EQ(m_menu.FindNextItem(CExtPopupMenuWnd::NEXT_EXPAND), -4);
}

TEST_F(MenuLayoutTest, CollectedRecordsSkipHiddenItemsAndMarkSeparatorsAndSubMenus)
{
    AddCmd(1);
    AddSep();
    AddSep();
    ASSERT_TRUE(m_menu.ItemInsert(CExtPopupMenuWnd::TYPE_POPUP, -1, "Sub"));
    m_sizes.push_back(CSize(90, 20));
    ASSERT_NE(m_menu.ItemGetInfo(3).m_pPopup, nullptr);
    m_menu.ItemGetInfo(3).m_pPopup->ItemInsertCommand(7, -1, "In");
    Layout();
    CExtPopupMenuWnd::ExpandEffectRectsArr_t arr;
    m_menu.CollectItemRects(NULL, arr);
    ASSERT_EQ(arr.GetSize(), 3);
    EXPECT_EQ(arr[0].m_nItemIndex, 0);
    EXPECT_EQ(arr[1].m_nItemIndex, 1);
    EXPECT_TRUE(arr[1].m_bSeparator);
    EXPECT_EQ(arr[2].m_nItemIndex, 3);
    EXPECT_TRUE(arr[2].m_bPopup);
    EXPECT_FALSE(arr[2].m_bRarelyUsed);
    CRect rc;
    m_menu.GetItemRect(3, rc, true);
    EXPECT_EQ(arr[2].m_rcItemWithIndents, rc);
}

TEST_F(MenuLayoutTest, PaletteItemsFlowInRowsEndedByWrapsAndSeparators)
{
    m_menu.SetTrackFlags(CExtPopupMenuWnd::TMF_PALETTE | CExtPopupMenuWnd::TMF_NO_SHADOW);
    for (UINT id = 1; id <= 3; id++)
        AddCmd(id);
    AddSep();
    AddCmd(4);
    m_menu.RecalcLayout();
    // Re-measured as icon-only palette items: take the measured sizes back.
    const MID& a = m_menu.ItemGetInfo(0);
    const MID& b = m_menu.ItemGetInfo(1);
    const MID& d = m_menu.ItemGetInfo(4);
    EXPECT_TRUE(m_menu.IsPaletteRowEnd(2)) << "the next item is a separator";
    EXPECT_FALSE(m_menu.IsPaletteRowEnd(0));
    CRect rcA, rcB, rcD;
    m_menu.GetItemRect(0, rcA);
    m_menu.GetItemRect(1, rcB);
    m_menu.GetItemRect(4, rcD);
    EXPECT_EQ(rcA.left, 3) << "margin 1 + 2";
    EXPECT_EQ(rcB.left, rcA.left + a.m_nWidth + 2);
    EXPECT_EQ(rcB.top, rcA.top);
    EXPECT_EQ(rcD.left, 3);
    const int nSepLine = CExtPopupMenuWnd::stat_GetSeparatorHeight(NULL);
    // The separator is a row of its own height, followed by its 3 + line pixels.
    const int nSepHeight = m_menu.ItemGetInfo(3).m_nHeight;
    EXPECT_EQ(rcD.top, rcA.top + std::max(a.m_nHeight, b.m_nHeight) + nSepHeight + 3 + nSepLine);
    EXPECT_EQ(rcD.Width(), d.m_nWidth);

    ASSERT_TRUE(m_menu.ItemPaletteWrapSet(0, true));
    m_menu.RecalcLayout();
    m_menu.GetItemRect(1, rcB);
    EXPECT_EQ(rcB.left, 3) << "a wrap bit ends the row";
}

TEST_F(MenuLayoutTest, PaletteRowsNavigateByColumn)
{
    m_menu.SetTrackFlags(CExtPopupMenuWnd::TMF_PALETTE | CExtPopupMenuWnd::TMF_NO_SHADOW);
    for (UINT id = 1; id <= 6; id++)
        AddCmd(id);
    ASSERT_TRUE(m_menu.ItemPaletteWrapSet(2, true));
    m_menu.RecalcLayout();
    for (int i = 0; i < 6; i++)
    {
        MID& mi = m_menu.ItemGetInfo(i);
        mi.m_nKindFlags |= MID::__MIK_ICON_ONLY;
        mi.m_nStateFlags |= MID::__MIS_ENABLED;
    }
    CRect rc1, rc4;
    m_menu.GetItemRect(1, rc1, false);
    m_menu.GetItemRect(4, rc4, false);
    ASSERT_EQ(rc1.left, rc4.left) << "equal items line up in columns";
    ASSERT_GT(rc4.top, rc1.top);
    m_menu.m_nCurIndex = 1;
    EXPECT_EQ(m_menu.FindNextItem(CExtPopupMenuWnd::NEXT_ROW_NEXT), 4);
    m_menu.m_nCurIndex = 4;
    EXPECT_EQ(m_menu.FindNextItem(CExtPopupMenuWnd::NEXT_ROW_PREV), 1);
    m_menu.m_nCurIndex = 4;
    EXPECT_EQ(m_menu.FindNextItem(CExtPopupMenuWnd::NEXT_ROW_NEXT), -1) << "no row below, no expand button";
    // An item that is not icon-only moves as in a list.
    m_menu.ItemGetInfo(1).m_nKindFlags &= ~MID::__MIK_ICON_ONLY;
    m_menu.m_nCurIndex = 1;
    EXPECT_EQ(m_menu.FindNextItem(CExtPopupMenuWnd::NEXT_ROW_NEXT), 2);
}

TEST_F(MenuLayoutTest, PaletteItemsAreAtLeastAPaletteButton)
{
    ASSERT_TRUE(m_menu.ItemInsertCommand(0x7F01, -1, "A"));
    ASSERT_TRUE(m_menu.ItemInsertCommand(0x7F02, -1, "A much longer palette text"));
    const CSize sizeLong = m_menu.ItemGetInfo(1).GetMeasuredSize();
    ASSERT_TRUE(m_menu.ItemOwnWidthSet(0, true));
    ASSERT_TRUE(m_menu.ItemOwnWidthSet(1, true));
    SIZE sizeButton = {0, 0};
    g_CurrentPaintManager.GetPM()->GetMenuPaletteButtonSize(sizeButton, &m_menu);
    EXPECT_EQ(sizeButton.cx, 23);
    EXPECT_EQ(sizeButton.cy, 22);
    EXPECT_EQ(m_menu.ItemGetInfo(0).GetMeasuredSize(), CSize(23, 22)) << "a short text grows to the button";
    const CSize sizeLongPalette = m_menu.ItemGetInfo(1).GetMeasuredSize();
    EXPECT_GT(sizeLongPalette.cx, 23) << "a long text keeps its width";
    EXPECT_LT(sizeLongPalette.cx, sizeLong.cx) << "no icon column in a palette item";
    EXPECT_EQ(sizeLongPalette.cy, 22);
}
