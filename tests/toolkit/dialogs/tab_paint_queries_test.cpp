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

// The table is filled one field at a time at start-up: a query left out would read as
// "no answer" in every theme without any other sign.
class OwnBackgroundTabWnd : public CExtTabWnd
{
public:
    bool PaintsOwnBackground() const override { return true; }
};

TEST(TabPaintQueries, EveryQueryIsInstalled)
{
    const CExtPmTabQueries::Queries& q = CExtPmTabQueries::g_tabs;
    EXPECT_EQ(RUNTIME_CLASS(CExtTabWnd), q.pTabWndClass);
    const struct
    {
        const char* sName;
        const void* pfn;
    } slots[] = {{"ItemCount", (void*)q.pfnItemCount},
                 {"Selection", (void*)q.pfnSelection},
                 {"TabWndStyle", (void*)q.pfnTabWndStyle},
                 {"ItemStyle", (void*)q.pfnItemStyle},
                 {"ItemIndexOf", (void*)q.pfnItemIndexOf},
                 {"TabWndFlags", (void*)q.pfnTabWndFlags},
                 {"PaintsOwnBackground", (void*)q.pfnPaintsOwnBackground},
                 {"Orientation", (void*)q.pfnOrientation}};
    for (const auto& slot : slots)
        EXPECT_TRUE(slot.pfn != NULL) << slot.sName;
    OwnBackgroundTabWnd wnd;
    EXPECT_TRUE(CExtPmTabQueries::PaintsOwnBackground(&wnd));
}
