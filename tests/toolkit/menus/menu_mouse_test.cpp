// The mouse while a menu tracks: the delayed sub-menu of a hovered item, scrolling a menu
// taller than the work area, expanding hidden items, the wheel, disabled items and
// deactivating the application.
#include <gtest/gtest.h>

#include "framework/framework.h"
#include "support/message_pump.h"
#include "support/mouse_input.h"
#include "toolkit/menus/popup_menu_wnd.h"
#include "toolkit/theme/paint_manager.h"

using testsupport::PumpPending;
using testsupport::PumpUntil;

namespace {

typedef CExtPopupMenuWnd::MENUITEMDATA MID;

const UINT kBaseFlags =
    CExtPopupMenuWnd::TMF_NO_CMD_UI | CExtPopupMenuWnd::TMF_NO_ANIMATION | CExtPopupMenuWnd::TMF_NO_SHADOW;
int g_nExpandedNotes = 0;
int g_nCommands = 0;
UINT g_nLastCommand = 0;

LRESULT CALLBACK MouseReceiverProc(HWND hWnd, UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == CExtPopupMenuWnd::g_nMsgNotifyMenuExpanded)
    {
        g_nExpandedNotes++;
        return 0;
    }
    if (msg == WM_COMMAND)
    {
        g_nCommands++;
        g_nLastCommand = LOWORD(wp);
        return 0;
    }
    return ::DefWindowProcA(hWnd, msg, wp, lp);
}

class MenuMouseTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        // Sub-menus open with the default animation; these cases show them at once.
        m_nSavedAnimation = CExtPopupBaseWnd::g_nDefaultAnimation;
        CExtPopupBaseWnd::g_nDefaultAnimation = 0;
        g_CurrentPaintManager.InstallPaintManagerByClass(RUNTIME_CLASS(CExtPaintManagerXP));
        WNDCLASSA wc = {};
        wc.lpfnWndProc = MouseReceiverProc;
        wc.hInstance = ::GetModuleHandleA(NULL);
        wc.lpszClassName = "MenuMouseTestReceiver";
        ::RegisterClassA(&wc);
        m_hWndRecv = ::CreateWindowA("MenuMouseTestReceiver", "", WS_POPUP, 0, 0, 10, 10, NULL, NULL, NULL, NULL);
        ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &m_rcWork, 0);
        g_nExpandedNotes = g_nCommands = 0;
    }
    void TearDown() override
    {
        CExtPopupBaseWnd::g_nDefaultAnimation = m_nSavedAnimation;
        CExtPopupMenuWnd::CancelMenuTracking();
        PumpPending();
        ::DestroyWindow(m_hWndRecv);
    }
    CExtPopupMenuWnd* NewMenu()
    {
        CExtPopupMenuWnd* pMenu = new CExtPopupMenuWnd;
        EXPECT_TRUE(pMenu->CreatePopupMenu(m_hWndRecv));
        return pMenu;
    }
    static void EnableAll(CExtPopupMenuWnd* pMenu)
    {
        for (int i = 0; i < pMenu->ItemGetCount(); i++)
            if (!pMenu->ItemGetInfo(i).IsSeparator())
                pMenu->ItemGetInfo(i).m_nStateFlags |= MID::__MIS_ENABLED;
    }
    static CPoint ScreenCentre(CExtPopupMenuWnd* pMenu, int nItem)
    {
        CRect rc;
        pMenu->GetItemRect(nItem, rc, true);
        CPoint pt = rc.CenterPoint();
        pMenu->ClientToScreen(&pt);
        return pt;
    }
    static CPoint ClientCentre(CExtPopupMenuWnd* pMenu, int nItem)
    {
        CRect rc;
        pMenu->GetItemRect(nItem, rc, true);
        return rc.CenterPoint();
    }

    HWND m_hWndRecv = NULL;
    CRect m_rcWork;
    int m_nSavedAnimation = 0;
};

}  // namespace

TEST_F(MenuMouseTest, ASubMenuOpensAfterThePointerRestsOnItsItem)
{
    CExtPopupMenuWnd* pMenu = NewMenu();
    pMenu->ItemInsertCommand(0x7501, -1, "First");
    pMenu->ItemInsert(CExtPopupMenuWnd::TYPE_POPUP, -1, "More");
    pMenu->ItemGetPopup(1)->ItemInsertCommand(0x7502, -1, "Inner");
    EnableAll(pMenu);
    EnableAll(pMenu->ItemGetPopup(1));
    ASSERT_TRUE(pMenu->TrackPopupMenu(kBaseFlags, m_rcWork.left + 40, m_rcWork.top + 40));
    const CPoint pt = ScreenCentre(pMenu, 1);
    ::SetCursorPos(pt.x, pt.y);
    bool bNoEat = false;
    EXPECT_TRUE(pMenu->OnMouseMoveTracked(WM_MOUSEMOVE, ClientCentre(pMenu, 1), bNoEat));
    EXPECT_EQ(pMenu->GetCurrentItem(), 1);
    CExtPopupMenuWnd* pSub = pMenu->ItemGetPopup(1);
    EXPECT_EQ(pSub->GetSafeHwnd(), (HWND)NULL) << "not at once";
    EXPECT_EQ(pMenu->m_nHoverIndex, 1);
    ASSERT_TRUE(PumpUntil([&] { return pSub->GetSafeHwnd() != NULL && pSub->IsWindowVisible(); }, 3000));
    EXPECT_EQ(pMenu->m_nHoverIndex, -1);

    // Moving back onto another item of the parent closes the sub-menu.
    const CPoint pt0 = ScreenCentre(pMenu, 0);
    ::SetCursorPos(pt0.x, pt0.y);
    CPoint ptInSub(pt0);
    pSub->ScreenToClient(&ptInSub);
    pSub->ActivateCurrentPopup();
    EXPECT_TRUE(pSub->OnMouseMoveTracked(WM_MOUSEMOVE, ptInSub, bNoEat));
    EXPECT_EQ(pMenu->GetCurrentItem(), 0);
    EXPECT_TRUE(pSub->GetSafeHwnd() == NULL || !pSub->IsWindowVisible());
}

TEST_F(MenuMouseTest, ATallMenuScrollsToItsEndAndStops)
{
    CExtPopupMenuWnd* pMenu = NewMenu();
    CString s;
    const int nItems = m_rcWork.Height() / 20 + 4;
    for (int i = 0; i < nItems; i++)
    {
        s.Format("Item %d", i);
        pMenu->ItemInsertCommand(0x7600 + i, -1, s);
    }
    EnableAll(pMenu);
    ASSERT_TRUE(pMenu->TrackPopupMenu(kBaseFlags, m_rcWork.left + 40, m_rcWork.top + 40));
    ASSERT_TRUE(pMenu->IsScrollable());
    CRect rcWnd;
    pMenu->GetWindowRect(&rcWnd);
    EXPECT_EQ(rcWnd.top, m_rcWork.top);
    EXPECT_EQ(rcWnd.bottom, m_rcWork.bottom);
    const int nLimit = pMenu->GetScrollLimit();
    ASSERT_LT(nLimit, 0);

    // The wheel does nothing.
    bool bNoEat = false;
    MOUSEHOOKSTRUCT mhs = {};
    EXPECT_TRUE(pMenu->OnMouseWheelTracked(WM_MOUSEWHEEL, &mhs, bNoEat));
    EXPECT_EQ(pMenu->m_nScrollPos, 0);

    CRect rcDown;
    pMenu->GetItemRect(CExtPopupMenuWnd::IDX_SCROLL_BOTTOM, rcDown);
    CPoint pt = rcDown.CenterPoint();
    pMenu->ClientToScreen(&pt);
    ::SetCursorPos(pt.x, pt.y);
    EXPECT_EQ(pMenu->HitTest(rcDown.CenterPoint()), CExtPopupMenuWnd::IDX_SCROLL_BOTTOM);
    ASSERT_TRUE(pMenu->StartScrolling(CExtPopupMenuWnd::IDX_SCROLL_BOTTOM));
    ASSERT_TRUE(PumpUntil([&] { return pMenu->m_nScrollPos < 0; }, 3000));
    EXPECT_EQ(pMenu->m_nScrollPos % 5, 0) << "5 pixels a step without acceleration";
    // The rows moved with the scroll position.
    CRect rc0;
    pMenu->GetItemRect(0, rc0, false);
    EXPECT_LT(rc0.top, 0);
    ASSERT_TRUE(PumpUntil([&] { return pMenu->m_nScrollingDelta == 0; }, 20000)) << "stops by itself";
    EXPECT_EQ(pMenu->m_nScrollPos, nLimit) << "at the end";
    EXPECT_EQ(pMenu->HitTest(rcDown.CenterPoint()) == CExtPopupMenuWnd::IDX_SCROLL_BOTTOM, false);
}

TEST_F(MenuMouseTest, TheExpandButtonShowsHiddenItemsAndTellsTheReceiver)
{
    CExtPopupMenuWnd* pMenu = NewMenu();
    pMenu->ItemInsertCommand(0x7701, -1, "Alpha");
    pMenu->ItemInsert(CExtPopupMenuWnd::TYPE_SEPARATOR);
    pMenu->ItemInsert(CExtPopupMenuWnd::TYPE_SEPARATOR);
    pMenu->ItemInsertCommand(0x7702, -1, "Beta");
    EnableAll(pMenu);
    const bool bHide = CExtPopupMenuWnd::g_bHideRarelyUsedItems;
    CExtPopupMenuWnd::g_bHideRarelyUsedItems = true;
    ASSERT_TRUE(pMenu->TrackPopupMenu(kBaseFlags, m_rcWork.left + 40, m_rcWork.top + 40));
    CExtPopupMenuWnd::g_bHideRarelyUsedItems = bHide;
    ASSERT_TRUE(pMenu->HasExpandArea());
    EXPECT_FALSE(pMenu->ItemGetInfo(2).IsDisplayed());
    CRect rcBefore;
    pMenu->GetWindowRect(&rcBefore);
    CRect rcExpand;
    pMenu->GetItemRect(CExtPopupMenuWnd::IDX_EXPAND, rcExpand);
    bool bNoEat = false;
    EXPECT_TRUE(pMenu->OnMouseClickTracked(WM_LBUTTONUP, rcExpand.CenterPoint(), bNoEat));
    EXPECT_TRUE(pMenu->IsExpanded());
    EXPECT_FALSE(pMenu->HasExpandArea());
    EXPECT_TRUE(pMenu->ItemGetInfo(2).IsDisplayed());
    EXPECT_EQ(g_nExpandedNotes, 1);
    CRect rcAfter;
    pMenu->GetWindowRect(&rcAfter);
    EXPECT_EQ(rcAfter.TopLeft(), rcBefore.TopLeft());
    CSize size;
    pMenu->CalcMenuSize(size);
    EXPECT_EQ(rcAfter.Size(), size);
    EXPECT_TRUE(pMenu->IsWindowVisible());
}

TEST_F(MenuMouseTest, DisabledItemsKeepTheMenuOpenAndDeactivationClosesIt)
{
    CExtPopupMenuWnd* pMenu = NewMenu();
    pMenu->ItemInsertCommand(0x7801, -1, "Alpha");
    pMenu->ItemInsertCommand(0x7802, -1, "Beta");
    pMenu->ItemGetInfo(0).m_nStateFlags |= MID::__MIS_ENABLED;
    pMenu->ItemGetInfo(1).m_nStateFlags &= ~(MID::__MIS_ENABLED | MID::__MIS_FORCE_ENABLED);
    ASSERT_TRUE(pMenu->TrackPopupMenu(kBaseFlags, m_rcWork.left + 40, m_rcWork.top + 40));
    bool bNoEat = false;
    pMenu->OnMouseClickTracked(WM_LBUTTONUP, ClientCentre(pMenu, 1), bNoEat);
    PumpPending();
    EXPECT_TRUE(CExtPopupMenuWnd::IsMenuTracking());
    EXPECT_EQ(g_nCommands, 0);
    pMenu->SendMessage(WM_ACTIVATEAPP, FALSE, 0);
    PumpPending();
    EXPECT_FALSE(CExtPopupMenuWnd::IsMenuTracking());
}

// An item's release is judged where the hand made it, whatever the pointer does before
// the menu's thread takes it (the thread is held: it takes nothing until the hand is
// done): the item released on runs, not the one the pointer has moved to.
TEST_F(MenuMouseTest, AReleaseIsJudgedWhereTheHandMadeIt)
{
    const struct
    {
        const char* what;
        int nRelease, nAfter;  // items; -1: off the menu
    } cases[] = {
        {"released on Alpha, the pointer moved off the menu", 0, -1},
        {"released on Beta, the pointer moved onto Alpha", 1, 0},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.what);
        g_nCommands = 0;
        CExtPopupMenuWnd* pMenu = NewMenu();
        pMenu->ItemInsertCommand(0x7901, -1, "Alpha");
        pMenu->ItemInsertCommand(0x7902, -1, "Beta");
        EnableAll(pMenu);
        ASSERT_TRUE(pMenu->TrackPopupMenu(kBaseFlags, m_rcWork.left + 40, m_rcWork.top + 40));
        PumpPending();
        CRect rcMenu;
        pMenu->GetWindowRect(&rcMenu);
        const POINT ptRelease = ScreenCentre(pMenu, c.nRelease);
        const POINT ptAfter = c.nAfter < 0 ? CPoint(rcMenu.right + 40, rcMenu.bottom + 40) : ScreenCentre(pMenu, c.nAfter);
        testsupport::SendMouse(MOUSEEVENTF_LEFTDOWN, ScreenCentre(pMenu, 0));
        EXPECT_TRUE(testsupport::PumpUntilIdle());
        testsupport::SendMouse(0, ptRelease);
        testsupport::SendMouse(MOUSEEVENTF_LEFTUP, ptRelease);
        testsupport::SendMouse(0, ptAfter);
        EXPECT_TRUE(testsupport::PumpUntilIdle());
        EXPECT_EQ(1, g_nCommands);
        EXPECT_EQ(0x7901u + c.nRelease, g_nLastCommand);
        CExtPopupMenuWnd::CancelMenuTracking();
        PumpPending();
    }
}
