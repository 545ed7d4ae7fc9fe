// The tab window answers the theme's tab painting: items, selection, style, orientation,
// item indexes and flags reach the paint manager through the installed functions.
#include <gtest/gtest.h>
#include "toolkit/dialogs/tab_wnd.h"
#include "toolkit/theme/pm_tabs.h"

TEST(TabPaintQueries, TabWindowAnswersTheTheme)
{
    CExtTabWnd wnd;
    CExtTabWnd::TAB_ITEM_INFO* pFirst = new CExtTabWnd::TAB_ITEM_INFO(&wnd, 0x04);
    CExtTabWnd::TAB_ITEM_INFO* pSecond = new CExtTabWnd::TAB_ITEM_INFO(&wnd, 0x20);
    wnd.m_arrItems.Add(pFirst);
    wnd.m_arrItems.Add(pSecond);
    wnd.m_nSelIndex = 0;
    wnd.m_dwTabWndStyle = 0x800080;
    wnd.m_nOrientation = 3;
    wnd.m_nTabWndFlags = 0x01;

    EXPECT_TRUE(CExtPmTabQueries::IsTabWnd(&wnd));
    EXPECT_EQ(2, CExtPmTabQueries::ItemCount(&wnd));
    EXPECT_EQ(0, CExtPmTabQueries::Selection(&wnd));
    EXPECT_EQ(0x800080u, CExtPmTabQueries::TabWndStyle(&wnd));
    EXPECT_EQ(3, CExtPmTabQueries::Orientation(&wnd));
    EXPECT_EQ(0x01, CExtPmTabQueries::TabWndFlags(&wnd));
    EXPECT_FALSE(CExtPmTabQueries::PaintsOwnBackground(&wnd));
    EXPECT_TRUE(CExtPmTabQueries::ItemEnabled(&wnd, 0));
    EXPECT_FALSE(CExtPmTabQueries::ItemEnabled(&wnd, 1)) << "style bit 0x20 disables";
    DWORD dw = 0;
    EXPECT_FALSE(CExtPmTabQueries::ItemStyle(&wnd, 2, dw)) << "out of range";
    EXPECT_EQ(1, CExtPmTabQueries::ItemIndexOf(pSecond));

    for (INT_PTR i = 0; i < wnd.m_arrItems.GetSize(); i++)
        delete wnd.m_arrItems[i];
    wnd.m_arrItems.RemoveAll();
}
