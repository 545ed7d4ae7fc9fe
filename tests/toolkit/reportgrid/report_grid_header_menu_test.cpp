// The header menu as the program's resources make it: the items the grid keeps, its list
// of columns, the menu tracked on a header's right click, and the command icons.
#include <gtest/gtest.h>
#include <string>
#include "report_grid_fixture.h"
#include "tests/support/message_pump.h"
#include "toolkit/core/cmd_manager.h"

namespace {

struct ReportHeaderMenuTest : ReportGridFixture
{
    CExtReportGridColumn* m_arrColumns[4] = {};
    void SetUp() override
    {
        ReportGridFixture::SetUp();
        const char* arrNames[3] = {"Size", "Name", "Kind"};
        for (int c = 0; c < 3; c++)
            ASSERT_NE(nullptr, m_arrColumns[c] = m_grid.ColumnRegister(arrNames[c], "File", true, false));
        ASSERT_NE(nullptr, m_arrColumns[3] = m_grid.ColumnRegister("Owner", "Extra", false, false));
        CExtReportGridSortOrder order;
        order.ItemInsert(m_arrColumns[2], -1, true);
        order.SetGroupCount(1);
        ASSERT_TRUE(m_grid.SortOrderSet(order, false, false));
    }
    // Command ids in order, "-" for a separator, a sub-menu as its items in brackets, a
    // column entry as its text with "*" when checked.
    static std::string Describe(const CExtPopupMenuWnd* pPopup)
    {
        std::string s;
        for (int i = 0; i < pPopup->ItemGetCount(); i++)
        {
            const CExtPopupMenuWnd::MENUITEMDATA& mi = pPopup->ItemGetInfo(i);
            s += i ? " " : "";
            if (mi.IsSeparator())
                s += "-";
            else if (mi.IsPopup())
                s += "[" + Describe(mi.GetPopup()) + "]";
            else if (mi.GetCmdID() >= 15000 && mi.GetCmdID() < 30000)
                s += std::string((LPCTSTR)pPopup->ItemGetText(i)) + (mi.GetCheck() ? "*" : "");
            else
                s += std::to_string(mi.GetCmdID());
        }
        return s;
    }
};

}  // namespace

TEST_F(ReportHeaderMenuTest, TheMenuKeepsTheGridsCommandsAndListsTheUngroupedColumnsByName)
{
    const char* const szAlign = "[30461 30462 30463 - 30464]";
    const struct
    {
        DWORD dwStyle;
        std::string sItems;
    } cases[] = {
        {0x08 | 0x10, "30453 30454 - 30455 30456 - [Name* Owner Size*] 30459 30460 - 30457 " + std::string(szAlign)},
        {0x08, "30453 30454 - 30455 30456 - 30459 30460 - 30457 " + std::string(szAlign)},
    };
    for (const auto& c : cases)
    {
        m_grid.ModifyReportStyle(c.dwStyle, 0x18 & ~c.dwStyle, false);
        CExtPopupMenuWnd* pPopup = new CExtPopupMenuWnd;
        ASSERT_TRUE(pPopup->CreatePopupMenu(m_grid.m_hWnd));
        DWORD dwFlags = 0;
        ASSERT_TRUE(m_grid.FillHeaderContextMenu(pPopup, m_arrColumns[0], dwFlags)) << c.dwStyle;
        EXPECT_EQ(c.sItems, Describe(pPopup)) << c.dwStyle;
        delete pPopup;
    }
}

TEST_F(ReportHeaderMenuTest, ARightClickTracksTheMenuAndFiveCommandsHaveIcons)
{
    m_grid.ModifyReportStyle(0x08, 0, false);
    ::ShowWindow(m_hParent, SW_SHOWNA);
    m_grid.ShowWindow(SW_SHOWNA);
    ASSERT_TRUE(m_grid.ShowHeaderContextMenu(NULL, m_arrColumns[1], CPoint(40, 40), NULL, 0));
    HWND hWndMenu = NULL;
    testsupport::PumpUntilIdle([&] {
        CExtPopupMenuWnd* pMenu = CExtPopupMenuWnd::GetTrackingMenu();
        hWndMenu = pMenu != NULL ? pMenu->GetSafeHwnd() : NULL;
        return hWndMenu != NULL && ::IsWindowVisible(hWndMenu) && pMenu->IsAnimationDone();
    });
    EXPECT_NE(nullptr, CExtPopupMenuWnd::GetTrackingMenu());
    EXPECT_EQ(m_arrColumns[1], m_grid.m_pContextColumn);
    CExtPopupMenuWnd::CancelMenuTracking();
    testsupport::PumpUntilIdle([&] { return CExtPopupMenuWnd::GetTrackingMenu() == nullptr && !::IsWindow(hWndMenu); });
    EXPECT_EQ(nullptr, CExtPopupMenuWnd::GetTrackingMenu());
    // Sort up, sort down, group by, group box and field chooser; the key colour is clear.
    const UINT arrWithIcon[] = {30453, 30454, 30455, 30456, 30460};
    for (UINT nCmd : arrWithIcon)
    {
        CExtCmdIcon* pIcon = g_CommandManager->CmdGetIconPtr(m_grid.GetProfileName(), nCmd);
        ASSERT_TRUE(pIcon != NULL && !pIcon->IsEmpty()) << nCmd;
        EXPECT_EQ(CSize(16, 16), pIcon->GetSize()) << nCmd;
        BYTE nAlpha = 255;
        pIcon->GetBitmap().GetPixelColor(0, 15, &nAlpha);
        EXPECT_EQ(0, nAlpha) << nCmd;
    }
    BYTE nAlpha = 0;
    const COLORREF clrTitle =
        g_CommandManager->CmdGetIconPtr(m_grid.GetProfileName(), 30460)->GetBitmap().GetPixelColor(8, 2, &nAlpha);
    EXPECT_EQ(RGB(0x1f, 0x4e, 0x9a), clrTitle);
    EXPECT_EQ(255, nAlpha);
    CExtCmdIcon* pNoIcon = g_CommandManager->CmdGetIconPtr(m_grid.GetProfileName(), 30457);
    EXPECT_TRUE(pNoIcon == NULL || pNoIcon->IsEmpty());
}

namespace {

// A grid whose menu cannot be filled (as when its menu resource is missing).
struct UnfillableMenuReportGrid : CExtReportGridWnd
{
    bool FillHeaderContextMenu(CExtPopupMenuWnd*, CExtReportGridColumn*, DWORD&) override { return false; }
};

}  // namespace

TEST_F(ReportHeaderMenuTest, AMenuThatCannotBeFilledIsReportedAsNotShownWithoutThrowing)
{
    UnfillableMenuReportGrid grid;
    ASSERT_TRUE(grid.Create(CWnd::FromHandle(m_hParent), CRect(0, 0, 200, 100), 2, 0, WS_CHILD));
    grid.ModifyReportStyle(0x08, 0, false);
    bool bShown = true;
    EXPECT_NO_THROW(bShown = grid.ShowHeaderContextMenu(NULL, NULL, CPoint(40, 40), NULL, 0));
    EXPECT_FALSE(bShown);
    EXPECT_EQ(nullptr, CExtPopupMenuWnd::GetTrackingMenu());
    grid.DestroyWindow();
}
