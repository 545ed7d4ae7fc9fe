// The tab window answers the theme's tab painting: items, selection, style, orientation,
// item indexes and flags reach the paint manager through the installed functions.
#include <gtest/gtest.h>
#include "toolkit/dialogs/tab_wnd.h"
#include "toolkit/theme/pm_tabs.h"

TEST(TabPaintQueries, TabWindowAnswersTheTheme)
{
    CExtTabWnd wnd;
    wnd.ItemInsert(_T("first"), (HICON)NULL, 0x04);
    CExtTabWnd::TAB_ITEM_INFO* pSecond = wnd.ItemInsert(_T("second"), (HICON)NULL, 0x20);
    wnd.SelectionSet(0);
    wnd.ModifyTabWndStyle(0xFFFFFFFF, 0x800080);
    wnd.OrientationSet(3);
    wnd.m_nTabWndFlags = 0x01;

    EXPECT_TRUE(CExtPmTabQueries::IsTabWnd(&wnd));
    EXPECT_EQ(2, CExtPmTabQueries::ItemCount(&wnd));
    EXPECT_EQ(0, CExtPmTabQueries::Selection(&wnd));
    EXPECT_EQ(0x800083u, CExtPmTabQueries::TabWndStyle(&wnd));
    EXPECT_EQ(3, CExtPmTabQueries::Orientation(&wnd));
    EXPECT_EQ(0x01, CExtPmTabQueries::TabWndFlags(&wnd));
    EXPECT_FALSE(CExtPmTabQueries::PaintsOwnBackground(&wnd));
    EXPECT_TRUE(CExtPmTabQueries::ItemEnabled(&wnd, 0));
    EXPECT_FALSE(CExtPmTabQueries::ItemEnabled(&wnd, 1)) << "style bit 0x20 disables";
    DWORD dw = 0;
    EXPECT_FALSE(CExtPmTabQueries::ItemStyle(&wnd, 2, dw)) << "out of range";
    EXPECT_EQ(1, CExtPmTabQueries::ItemIndexOf(pSecond));
}
