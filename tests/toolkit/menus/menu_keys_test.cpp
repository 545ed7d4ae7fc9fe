// Keyboard navigation of a tracking menu: sub-menus opened by Right and closed by Esc and
// Left, the menu-bar neighbours, mnemonics shared or unique, the default item on Enter and
// moving onto the expand area.
#include <gtest/gtest.h>

#include "framework/framework.h"
#include "support/message_pump.h"
#include "toolkit/menus/popup_menu_wnd.h"
#include "toolkit/theme/paint_manager.h"

#include <vector>

using testsupport::PumpPending;
using testsupport::PumpUntil;

namespace {

typedef CExtPopupMenuWnd::MENUITEMDATA MID;

const UINT kBaseFlags =
    CExtPopupMenuWnd::TMF_NO_CMD_UI | CExtPopupMenuWnd::TMF_NO_ANIMATION | CExtPopupMenuWnd::TMF_NO_SHADOW;
const UINT kCmdNew = 0x7901, kCmdNext = 0x7902, kCmdSave = 0x7903, kCmdInner = 0x7904, kCmdOther = 0x7905;
int g_nNext = 0, g_nPrev = 0;
std::vector<WPARAM> g_commands;
bool g_bButtonMenu = false;

LRESULT CALLBACK KeysReceiverProc(HWND hWnd, UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == CExtPopupMenuWnd::g_nMsgPopupNext)
        g_nNext++;
    else if (msg == CExtPopupMenuWnd::g_nMsgPopupPrev)
        g_nPrev++;
    else if (msg == WM_COMMAND)
        g_commands.push_back(wp);
    else
        return ::DefWindowProcA(hWnd, msg, wp, lp);
    return 0;
}

class MenuKeysTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        // Sub-menus open with the default animation; these cases show them at once.
        m_nSavedAnimation = CExtPopupBaseWnd::g_nDefaultAnimation;
        CExtPopupBaseWnd::g_nDefaultAnimation = 0;
        g_CurrentPaintManager.InstallPaintManagerByClass(RUNTIME_CLASS(CExtPaintManagerXP));
        WNDCLASSA wc = {};
        wc.lpfnWndProc = KeysReceiverProc;
        wc.hInstance = ::GetModuleHandleA(NULL);
        wc.lpszClassName = "MenuKeysTestReceiver";
        ::RegisterClassA(&wc);
        m_hWndRecv = ::CreateWindowA("MenuKeysTestReceiver", "", WS_POPUP, 0, 0, 10, 10, NULL, NULL, NULL, NULL);
        g_nNext = g_nPrev = 0;
        g_commands.clear();
        g_bButtonMenu = false;
        m_saved = g_PopupBarServices.pfnIsButtonMenuTracking;
    }
    void TearDown() override
    {
        CExtPopupBaseWnd::g_nDefaultAnimation = m_nSavedAnimation;
        g_PopupBarServices.pfnIsButtonMenuTracking = m_saved;
        CExtPopupMenuWnd::CancelMenuTracking();
        PumpPending();
        ::DestroyWindow(m_hWndRecv);
    }
    // &New, &Next, &Save, separator, &More > (&Inner, &Other); with bMark also
    // &Mark > &Deep, a second sub-menu item with the same access key.
    CExtPopupMenuWnd* Track(bool bMark = false)
    {
        CExtPopupMenuWnd* pMenu = new CExtPopupMenuWnd;
        EXPECT_TRUE(pMenu->CreatePopupMenu(m_hWndRecv));
        pMenu->ItemInsertCommand(kCmdNew, -1, "&New");
        pMenu->ItemInsertCommand(kCmdNext, -1, "&Next");
        pMenu->ItemInsertCommand(kCmdSave, -1, "&Save");
        pMenu->ItemInsert(CExtPopupMenuWnd::TYPE_SEPARATOR);
        pMenu->ItemInsert(CExtPopupMenuWnd::TYPE_POPUP, -1, "&More");
        CExtPopupMenuWnd* pSub = pMenu->ItemGetPopup(4);
        pSub->ItemInsertCommand(kCmdInner, -1, "&Inner");
        pSub->ItemInsertCommand(kCmdOther, -1, "&Other");
        CExtPopupMenuWnd* pMark = NULL;
        if (bMark)
        {
            pMenu->ItemInsert(CExtPopupMenuWnd::TYPE_POPUP, -1, "&Mark");
            pMark = pMenu->ItemGetPopup(5);
            pMark->ItemInsertCommand(kCmdNew, -1, "&Deep");
        }
        for (CExtPopupMenuWnd* p : {pMenu, pSub, pMark})
            for (int i = 0; p != NULL && i < p->ItemGetCount(); i++)
                if (!p->ItemGetInfo(i).IsSeparator())
                    p->ItemGetInfo(i).m_nStateFlags |= MID::__MIS_ENABLED;
        EXPECT_TRUE(pMenu->TrackPopupMenu(kBaseFlags, 40, 40, NULL, NULL, NULL, &m_nResult));
        return pMenu;
    }
    bool Key(UINT nChar)
    {
        CExtPopupMenuWnd* pMenu = g_PopupTrackingSite.GetCurrentPopup();
        if (pMenu == NULL)
            return false;
        bool bNoEat = false;
        return pMenu->OnKeyDown(nChar, 1, 0, bNoEat);
    }

    HWND m_hWndRecv = NULL;
    UINT m_nResult = 0;
    bool (*m_saved)() = NULL;
    int m_nSavedAnimation = 0;
};

}  // namespace

TEST_F(MenuKeysTest, RightOpensTheSubMenuAndEscapeClosesOnlyThatLevel)
{
    CExtPopupMenuWnd* pMenu = Track();
    CExtPopupMenuWnd* pSub = pMenu->ItemGetPopup(4);
    Key(VK_UP);
    EXPECT_EQ(pMenu->GetCurrentItem(), 0) << "any move from nothing starts at the first item";
    Key(VK_UP);
    EXPECT_EQ(pMenu->GetCurrentItem(), 4) << "and up from there wraps to the last";
    Key(VK_RIGHT);
    ASSERT_NE(pSub->GetSafeHwnd(), (HWND)NULL);
    EXPECT_TRUE(pSub->IsWindowVisible());
    EXPECT_EQ(g_PopupTrackingSite.GetCurrentPopup(), pSub);
    EXPECT_EQ(pSub->GetCurrentItem(), 0) << "opened with its first item selected";
    Key(VK_ESCAPE);
    EXPECT_TRUE(pSub->GetSafeHwnd() == NULL || !pSub->IsWindowVisible());
    EXPECT_TRUE(CExtPopupMenuWnd::IsMenuTracking());
    EXPECT_EQ(g_PopupTrackingSite.GetCurrentPopup(), pMenu);
    EXPECT_EQ(pMenu->GetCurrentItem(), 4) << "the parent item stays selected";
    // Enter opens it again; Enter inside takes the command.
    Key(VK_RETURN);
    ASSERT_EQ(g_PopupTrackingSite.GetCurrentPopup(), pSub);
    Key(VK_DOWN);
    Key(VK_RETURN);
    EXPECT_EQ(m_nResult, kCmdOther);
    ASSERT_TRUE(PumpUntil([] { return !g_commands.empty(); }));
    EXPECT_EQ(g_commands[0], (WPARAM)kCmdOther);
}

TEST_F(MenuKeysTest, MenuBarNeighboursOnlyWhileAButtonMenuTracks)
{
    Track();
    Key(VK_DOWN);
    Key(VK_RIGHT);
    Key(VK_LEFT);
    PumpPending();
    EXPECT_EQ(g_nNext + g_nPrev, 0) << "a context menu has no neighbours";
    g_PopupBarServices.pfnIsButtonMenuTracking = [] { return true; };
    Key(VK_RIGHT);
    Key(VK_LEFT);
    PumpPending();
    EXPECT_EQ(g_nNext, 1);
    EXPECT_EQ(g_nPrev, 1);
}

TEST_F(MenuKeysTest, SharedMnemonicsMoveUniqueOnesExecute)
{
    CExtPopupMenuWnd* pMenu = Track();
    Key('N');
    EXPECT_EQ(pMenu->GetCurrentItem(), 0);
    Key('N');
    EXPECT_EQ(pMenu->GetCurrentItem(), 1) << "the second item with the same key";
    EXPECT_TRUE(CExtPopupMenuWnd::IsMenuTracking());
    EXPECT_TRUE(g_commands.empty());
    Key('S');
    EXPECT_EQ(m_nResult, kCmdSave);
    ASSERT_TRUE(PumpUntil([] { return !g_commands.empty(); }));
    EXPECT_EQ(g_commands[0], (WPARAM)kCmdSave);
}

TEST_F(MenuKeysTest, ASharedMnemonicOnASubMenuItemOpensItWithoutRunningIt)
{
    CExtPopupMenuWnd* pMenu = Track(true);
    CExtPopupMenuWnd* pMore = pMenu->ItemGetPopup(4);
    Key('M');
    EXPECT_EQ(pMenu->GetCurrentItem(), 4);
    ASSERT_NE(pMore->GetSafeHwnd(), (HWND)NULL) << "the selected sub-menu item opens";
    EXPECT_TRUE(pMore->IsWindowVisible());
    EXPECT_EQ(pMore->GetCurrentItem(), 0) << "with its first item selected";
    EXPECT_EQ(g_PopupTrackingSite.GetCurrentPopup(), pMore);
    EXPECT_TRUE(CExtPopupMenuWnd::IsMenuTracking());
    PumpPending();
    EXPECT_TRUE(g_commands.empty());
}

TEST_F(MenuKeysTest, EnterWithoutSelectionTakesTheDefaultItem)
{
    CExtPopupMenuWnd* pMenu = Track();
    Key(VK_RETURN);
    EXPECT_TRUE(CExtPopupMenuWnd::IsMenuTracking()) << "no default item: nothing happens";
    pMenu->ItemDefaultSet(1, true);
    Key(VK_RETURN);
    EXPECT_EQ(m_nResult, kCmdNext);
}

TEST_F(MenuKeysTest, MovingOntoTheExpandAreaExpandsTheMenu)
{
    CExtPopupMenuWnd* pMenu = new CExtPopupMenuWnd;
    ASSERT_TRUE(pMenu->CreatePopupMenu(m_hWndRecv));
    pMenu->ItemInsertCommand(kCmdNew, -1, "&New");
    pMenu->ItemInsert(CExtPopupMenuWnd::TYPE_SEPARATOR);
    pMenu->ItemInsert(CExtPopupMenuWnd::TYPE_SEPARATOR);
    pMenu->ItemInsertCommand(kCmdSave, -1, "&Save");
    pMenu->ItemGetInfo(0).m_nStateFlags |= MID::__MIS_ENABLED;
    pMenu->ItemGetInfo(3).m_nStateFlags |= MID::__MIS_ENABLED;
    const bool bHide = CExtPopupMenuWnd::g_bHideRarelyUsedItems;
    CExtPopupMenuWnd::g_bHideRarelyUsedItems = true;
    ASSERT_TRUE(pMenu->TrackPopupMenu(kBaseFlags, 40, 40));
    CExtPopupMenuWnd::g_bHideRarelyUsedItems = bHide;
    ASSERT_TRUE(pMenu->HasExpandArea());
    Key(VK_DOWN);
    Key(VK_DOWN);
    EXPECT_EQ(pMenu->GetCurrentItem(), 3);
    Key(VK_DOWN);
    EXPECT_TRUE(pMenu->IsExpanded());
    EXPECT_FALSE(pMenu->HasExpandArea());
    EXPECT_EQ(pMenu->GetCurrentItem(), 0) << "went on from the item that was current";
}

TEST_F(MenuKeysTest, KeysWaitForTheOpenAnimation)
{
    CExtPopupBaseWnd::g_nDefaultAnimation = 4;
    CExtPopupMenuWnd* pMenu = new CExtPopupMenuWnd;
    ASSERT_TRUE(pMenu->CreatePopupMenu(m_hWndRecv));
    pMenu->ItemInsertCommand(kCmdNew, -1, "&New");
    pMenu->ItemGetInfo(0).m_nStateFlags |= MID::__MIS_ENABLED;
    ASSERT_TRUE(pMenu->TrackPopupMenu(CExtPopupMenuWnd::TMF_NO_CMD_UI | CExtPopupMenuWnd::TMF_NO_SHADOW, 40, 40));
    ASSERT_EQ(pMenu->GetAnimationKind(), 4);
    ASSERT_FALSE(pMenu->IsAnimationDone());
    EXPECT_TRUE(Key(VK_DOWN)) << "eaten";
    EXPECT_EQ(pMenu->GetCurrentItem(), -1);
    ASSERT_TRUE(PumpUntil([&] { return pMenu->IsAnimationDone(); }, 5000));
    Key(VK_DOWN);
    EXPECT_EQ(pMenu->GetCurrentItem(), 0);
}

TEST_F(MenuKeysTest, TheMnemonicOfTheSelectedItemTakesIt)
{
    CExtPopupMenuWnd* pMenu = Track();
    Key(VK_DOWN);
    Key(VK_DOWN);
    Key(VK_DOWN);
    ASSERT_EQ(pMenu->GetCurrentItem(), 2);
    Key('S');
    EXPECT_EQ(m_nResult, kCmdSave) << "the only item with this key is the selected one";
    ASSERT_TRUE(PumpUntil([] { return !g_commands.empty(); }));
    EXPECT_EQ(g_commands[0], (WPARAM)kCmdSave);
    ASSERT_TRUE(PumpUntil([] { return !CExtPopupMenuWnd::IsMenuTracking(); }));

    pMenu = Track();
    CExtPopupMenuWnd* pSub = pMenu->ItemGetPopup(4);
    Key(VK_UP);
    Key(VK_UP);
    ASSERT_EQ(pMenu->GetCurrentItem(), 4);
    Key('M');
    ASSERT_NE(pSub->GetSafeHwnd(), (HWND)NULL) << "a selected sub-menu item opens";
    EXPECT_TRUE(pSub->IsWindowVisible());
    EXPECT_EQ(pSub->GetCurrentItem(), 0);
}

TEST_F(MenuKeysTest, LeftAndRightWalkAPaletteRow)
{
    g_PopupBarServices.pfnIsButtonMenuTracking = [] { return true; };
    CExtPopupMenuWnd* pMenu = new CExtPopupMenuWnd;
    ASSERT_TRUE(pMenu->CreatePopupMenu(m_hWndRecv));
    for (UINT id : {kCmdNew, kCmdNext, kCmdSave})
        pMenu->ItemInsertCommand(id, -1, "x");
    for (int i = 0; i < 3; i++)
    {
        pMenu->ItemGetInfo(i).m_nKindFlags |= MID::__MIK_ICON_ONLY;
        pMenu->ItemGetInfo(i).m_nStateFlags |= MID::__MIS_ENABLED;
    }
    ASSERT_TRUE(pMenu->TrackPopupMenu(kBaseFlags | CExtPopupMenuWnd::TMF_PALETTE, 40, 40));
    ASSERT_TRUE(pMenu->IsPaletteLayout());
    Key(VK_DOWN);
    ASSERT_EQ(pMenu->GetCurrentItem(), 0);
    // {key, current item after it, menu-bar "next" posts so far, "previous" posts so far}
    const struct { UINT nKey; int nCur, nNext, nPrev; } steps[] = {
        {VK_RIGHT, 1, 0, 0}, {VK_RIGHT, 2, 0, 0}, {VK_RIGHT, 2, 1, 0}, {VK_LEFT, 1, 1, 0}, {VK_LEFT, 0, 1, 0},
        {VK_LEFT, 2, 1, 0},
    };
    int n = 0;
    for (const auto& s : steps)
    {
        Key(s.nKey);
        PumpPending();
        EXPECT_EQ(pMenu->GetCurrentItem(), s.nCur) << "step " << n;
        EXPECT_EQ(g_nNext, s.nNext) << "step " << n;
        EXPECT_EQ(g_nPrev, s.nPrev) << "step " << n;
        n++;
    }
}
