// A popup menu's items built from a command tree and the receiver's command profile:
// texts, accelerator texts, separators, sub-menus, command-UI updates and delivery.
#include <gtest/gtest.h>

#include "framework/framework.h"
#include "support/message_pump.h"
#include "toolkit/core/cmd_manager.h"
#include "toolkit/core/cmd_tree.h"
#include "toolkit/menus/popup_color_menu_wnd.h"
#include "toolkit/menus/popup_menu_wnd.h"

namespace {

const UINT kOpen = 0x6F01, kExit = 0x6F02, kPaste = 0x6F03;

UINT g_nLastCommand = 0;

LRESULT CALLBACK ReceiverProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_COMMAND)
        g_nLastCommand = LOWORD(wp);
    return ::DefWindowProcA(h, msg, wp, lp);
}

class PopupFromTreeTest : public ::testing::Test {
protected:
    void SetUp() override {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = ReceiverProc;
        wc.hInstance = ::GetModuleHandle(NULL);
        wc.lpszClassName = "PopupTreeReceiver";
        ::RegisterClassA(&wc);
        m_hWnd = ::CreateWindowA("PopupTreeReceiver", "", WS_POPUP, 0, 0, 10, 10, NULL, NULL, NULL, NULL);
        ASSERT_NE(m_hWnd, nullptr);
        m_wnd.Attach(m_hWnd);

        // File: Open (Ctrl+O), separator, Exit, More > Paste
        m_menu.CreatePopupMenu();
        m_menu.AppendMenu(MF_STRING, kOpen, "&Open\tCtrl+O");
        m_menu.AppendMenu(MF_SEPARATOR);
        m_menu.AppendMenu(MF_STRING, kExit, "E&xit");
        CMenu more;
        more.CreatePopupMenu();
        more.AppendMenu(MF_STRING, kPaste, "&Paste");
        m_menu.AppendMenu(MF_POPUP, (UINT_PTR)more.Detach(), "&More");

        ASSERT_TRUE(g_CommandManager->ProfileSetup("popup-tree", m_hWnd));
        ASSERT_TRUE(g_CommandManager->UpdateFromMenu("popup-tree", m_menu.GetSafeHmenu(), false, true, false));
        ASSERT_TRUE(m_tree.LoadMenuTree(&m_wnd, NULL, &m_menu));
    }
    void TearDown() override {
        m_wnd.Detach();
        ::DestroyWindow(m_hWnd);
        g_CommandManager->ProfileDestroy("popup-tree", true);
    }

    HWND m_hWnd = NULL;
    CWnd m_wnd;
    CMenu m_menu;
    CExtCustomizeCmdTreeNode m_tree;
};

// A site that keeps Exit's state itself and can be switched into customize mode.
class ClaimingSite : public CExtCustomizeSite {
public:
    bool m_bCustomize = false;
    int m_nCheck = 1;
    bool IsCustomizeMode() const override { return m_bCustomize; }
    bool IsCmdUpdateClaimed(UINT nCmdID) override { return nCmdID == kExit; }
    int GetCmdCheckState(UINT) override { return m_nCheck; }
};

}  // namespace

TEST_F(PopupFromTreeTest, ACustomizeSiteKeepsItemsEnabledAndChecksTheCommandsItClaims) {
    ClaimingSite site;
    CExtCustomizeSite::g_CustomizeSitesMap.SetAt(m_hWnd, &site);
    const UINT kForced = CExtPopupMenuWnd::MENUITEMDATA::__MIS_FORCE_ENABLED;
    CExtPopupMenuWnd popup;
    ASSERT_TRUE(popup.BuildFromCmdTree(m_hWnd, &m_tree));
    popup.UpdateItemsCmdUI();
    EXPECT_FALSE(popup.ItemEnabledGet(0)) << "Open has no handler";
    EXPECT_EQ(0u, popup.ItemGetInfo(0).m_nStateFlags & kForced);
    EXPECT_EQ(0u, popup.ItemGetInfo(3).m_nStateFlags & kForced);
    // Exit is the site's: enabled regardless and checked as the site says, its command too.
    EXPECT_NE(0u, popup.ItemGetInfo(2).m_nStateFlags & kForced);
    EXPECT_TRUE(popup.ItemGetInfo(2).GetCheck());
    EXPECT_TRUE(g_CommandManager->CmdGetPtr("popup-tree", kExit)->GetCheck());
    site.m_nCheck = 0;
    popup.UpdateItemsCmdUI();
    EXPECT_FALSE(popup.ItemGetInfo(2).GetCheck());
    EXPECT_FALSE(g_CommandManager->CmdGetPtr("popup-tree", kExit)->GetCheck());

    // While customizing every item, the sub-menu item and the sub-menu's items included,
    // is enabled regardless; the sub-menu item keeps no command id.
    site.m_bCustomize = true;
    popup.UpdateItemsCmdUI();
    for (int i : {0, 2, 3})
        EXPECT_NE(0u, popup.ItemGetInfo(i).m_nStateFlags & kForced) << "item " << i;
    EXPECT_NE(0u, popup.ItemGetPopup(3)->ItemGetInfo(0).m_nStateFlags & kForced);
    EXPECT_EQ(popup.ItemGetInfo(3).m_nCmdID, UINT(-1));
    CExtCustomizeSite::g_CustomizeSitesMap.RemoveKey(m_hWnd);
}

TEST_F(PopupFromTreeTest, AColourNodeOpensAColourMenuWithItsRows) {
    // Both rows (node bits 0 and 17), cookie 77, the command of Paste behind it; an
    // undo/redo node needs the pickers library, which this program does not link.
    CExtCustomizeCmdTreeNode* pColor =
        new CExtCustomizeCmdTreeNode(kPaste, kPaste, NULL, 0x8000 | 0x1 | 0x20000, NULL, "Fill &Colour", NULL, 77);
    m_tree.InsertNode(NULL, pColor, 0);
    m_tree.InsertNode(NULL, new CExtCustomizeCmdTreeNode(kOpen, kOpen, NULL, 0x100000, NULL, "&Undo"), 1);
    g_CommandManager->CmdGetPtr("popup-tree", kPaste)->m_sAccelText = "Ctrl+K";
    const struct {
        DWORD dwRowBits;
        BYTE nRowFlags;
    } cases[] = {{0x1 | 0x20000, 0x03}, {0x1, 0x01}, {0x20000, 0x02}, {0, 0}};
    for (const auto& c : cases) {
        pColor->ModifyFlags(c.dwRowBits, (0x1 | 0x20000) & ~c.dwRowBits);
        CExtPopupMenuWnd popup;
        ASSERT_TRUE(popup.BuildFromCmdTree(m_hWnd, &m_tree));
        ASSERT_EQ(popup.ItemGetCount(), 5) << "colour menu, then the four items of File";
        const CExtPopupMenuWnd::MENUITEMDATA& item = popup.ItemGetInfo(0);
        ASSERT_TRUE(item.IsPopup());
        EXPECT_STREQ((LPCTSTR)item.m_sText, "Fill &Colour");
        EXPECT_STREQ((LPCTSTR)item.m_sAccelText, "Ctrl+K");
        CExtPopupColorMenuWnd* pMenu = DYNAMIC_DOWNCAST(CExtPopupColorMenuWnd, item.m_pPopup);
        ASSERT_NE(pMenu, nullptr);
        EXPECT_EQ(pMenu->GetParentMenu(), &popup);
        EXPECT_EQ(pMenu->GetCmdReceiverHWND(), m_hWnd);
        EXPECT_EQ(pMenu->m_lParamCookie, 77);
        EXPECT_EQ(pMenu->m_nRowFlags, c.nRowFlags);
        EXPECT_EQ(pMenu->GetColorCount(), 40);
    }
}

TEST_F(PopupFromTreeTest, ItemsFollowTheTree) {
    CExtPopupMenuWnd popup;
    ASSERT_TRUE(popup.BuildFromCmdTree(m_hWnd, &m_tree));
    EXPECT_TRUE(popup.IsTopLevel());
    EXPECT_EQ(popup.GetSourceCmdNode(), &m_tree);
    ASSERT_EQ(popup.ItemGetCount(), 4);
    EXPECT_EQ(popup.ItemGetCmdID(0), kOpen);
    EXPECT_STREQ((LPCTSTR)popup.ItemGetText(0), "&Open");
    EXPECT_STREQ((LPCTSTR)popup.ItemGetAccelText(0), "Ctrl+O");
    EXPECT_EQ(popup.ItemGetInfo(0).GetAccessKey(), 'O');
    EXPECT_TRUE(popup.ItemGetInfo(1).IsSeparator());
    EXPECT_EQ(popup.ItemGetCmdID(2), kExit);
    EXPECT_EQ(popup.ItemGetInfo(2).m_pCmdNode, m_tree.ElementAt(1));
    const CExtPopupMenuWnd::MENUITEMDATA& more = popup.ItemGetInfo(3);
    ASSERT_TRUE(more.IsPopup());
    EXPECT_EQ(more.m_nCmdID, UINT(-1));
    EXPECT_STREQ((LPCTSTR)more.m_sText, "&More");
    CExtPopupMenuWnd* pMore = popup.ItemGetPopup(3);
    ASSERT_NE(pMore, nullptr);
    EXPECT_EQ(pMore->GetParentMenu(), &popup);
    EXPECT_FALSE(pMore->IsTopLevel());
    ASSERT_EQ(pMore->ItemGetCount(), 1);
    EXPECT_EQ(pMore->ItemGetCmdID(0), kPaste);
    EXPECT_NE(popup.ItemGetInfo(0).GetCmdItem(), nullptr);
    EXPECT_EQ(popup.ItemGetInfo(1).GetCmdItem(), nullptr) << "a separator has no command";

    // A node whose command the profile does not know shows nothing.
    m_tree.InsertNode(NULL, new CExtCustomizeCmdTreeNode(0x6FFF, 0x6FFF), 0);
    ASSERT_TRUE(popup.BuildFromCmdTree(m_hWnd, &m_tree));
    EXPECT_EQ(popup.ItemGetCount(), 4);

    // A receiver without a profile knows no command: only the sub-menu and the
    // separator before Exit's group remain.
    HWND hStranger = ::CreateWindowA("STATIC", "", WS_POPUP, 0, 0, 5, 5, NULL, NULL, NULL, NULL);
    ASSERT_TRUE(popup.BuildFromCmdTree(hStranger, &m_tree));
    for (int i = 0; i < popup.ItemGetCount(); i++)
        EXPECT_TRUE(popup.ItemGetInfo(i).IsSeparator() || popup.ItemGetInfo(i).IsPopup()) << "item " << i;
    ::DestroyWindow(hStranger);

    // A NULL node empties the menu.
    ASSERT_TRUE(popup.BuildFromCmdTree(m_hWnd, NULL));
    EXPECT_EQ(popup.ItemGetCount(), 0);
}
