// The menu item model: texts, accelerator texts, access keys and icons from the command
// profile of the receiver window, custom items, measuring, insert, remove and search,
// sub-menu ownership and command receivers.
#include <gtest/gtest.h>

#include "framework/framework.h"
#include "toolkit/core/cmd_manager.h"
#include "toolkit/menus/popup_menu_wnd.h"
#include "toolkit/theme/paint_manager.h"

namespace {

const UINT kOpen = 0x7101, kSave = 0x7102, kExit = 0x7103, kNoSuch = 0x71FF;
const char* kProfile = "menu-items-test";

int g_nSubMenusDeleted = 0;
class CountedMenu : public CExtPopupMenuWnd
{
public:
    ~CountedMenu() override { g_nSubMenusDeleted++; }
};

class MenuItemsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_hWnd = ::CreateWindowA("STATIC", "", WS_POPUP, 0, 0, 10, 10, NULL, NULL, NULL, NULL);
        m_hWndOther = ::CreateWindowA("STATIC", "", WS_POPUP, 0, 0, 10, 10, NULL, NULL, NULL, NULL);
        ASSERT_TRUE(g_CommandManager->ProfileSetup(kProfile, m_hWnd));
        AddCmd(kOpen, "&Open...", "Ctrl+O");
        AddCmd(kSave, "&Save", "Ctrl+S");
        AddCmd(kExit, "E&xit", "");
        ASSERT_TRUE(m_menu.CreatePopupMenu(m_hWnd));
        g_nSubMenusDeleted = 0;
    }
    void TearDown() override
    {
        m_menu.ItemRemove(-1);
        g_CommandManager->ProfileDestroy(kProfile, true);
        ::DestroyWindow(m_hWnd);
        ::DestroyWindow(m_hWndOther);
    }
    void AddCmd(UINT nID, const char* sMenuText, const char* sAccel)
    {
        CExtCmdItem* pCmd = g_CommandManager->CmdAllocPtr(kProfile, nID);
        ASSERT_NE(pCmd, nullptr);
        pCmd->m_sMenuText = sMenuText;
        pCmd->m_sAccelText = sAccel;
    }
    static int TextWidth(CFont& font, LPCTSTR sText)
    {
        HDC hDC = ::CreateCompatibleDC(NULL);
        HGDIOBJ hOld = ::SelectObject(hDC, font.GetSafeHandle());
        RECT rc = {0, 0, 0, 0};
        ::DrawText(hDC, sText, -1, &rc, DT_SINGLELINE | DT_CALCRECT);
        ::SelectObject(hDC, hOld);
        ::DeleteDC(hDC);
        return rc.right - rc.left;
    }

    HWND m_hWnd = NULL, m_hWndOther = NULL;
    CExtPopupMenuWnd m_menu;
};

}  // namespace

TEST_F(MenuItemsTest, CommandItemsTakeTheirTextsFromTheProfile)
{
    ASSERT_TRUE(m_menu.ItemInsert(kOpen, -1, "ignored"));
    ASSERT_TRUE(m_menu.ItemInsert(CExtPopupMenuWnd::TYPE_SEPARATOR));
    ASSERT_TRUE(m_menu.ItemInsert(kExit));
    ASSERT_TRUE(m_menu.ItemInsert(kSave, 1));
    ASSERT_EQ(m_menu.ItemGetCount(), 4);
    const UINT nIDs[] = {kOpen, kSave, 0, kExit};
    for (int i = 0; i < 4; i++)
        EXPECT_EQ(m_menu.ItemGetCmdID(i), nIDs[i]) << "item " << i;
    EXPECT_STREQ((LPCTSTR)m_menu.ItemGetText(0), "&Open...");
    EXPECT_STREQ((LPCTSTR)m_menu.ItemGetAccelText(0), "Ctrl+O");
    EXPECT_EQ(m_menu.ItemGetInfo(0).GetAccessKey(), 'O');
    EXPECT_EQ(m_menu.ItemGetInfo(3).GetAccessKey(), 'X');
    EXPECT_EQ(m_menu.ItemGetInfo(1).GetCmdItem(), g_CommandManager->CmdGetPtr(kProfile, kSave));
    EXPECT_STREQ((LPCTSTR)m_menu.ItemGetText(2), "") << "a separator has no text";
    EXPECT_STREQ((LPCTSTR)m_menu.ItemGetText(9), "") << "nor has a bad position";
    EXPECT_EQ(m_menu.ItemGetCmdID(9), 0u);
    EXPECT_TRUE(m_menu.ItemGetIcon(9).IsEmpty());
    EXPECT_TRUE(m_menu.ItemGetIcon(0).IsEmpty()) << "no icon: the shared empty one";

    // A command the receiver's profile lacks is not inserted.
    EXPECT_FALSE(m_menu.ItemInsert(kNoSuch));
    EXPECT_FALSE(m_menu.ItemInsert(kOpen, 7)) << "a position past the end";
    EXPECT_EQ(m_menu.ItemGetCount(), 4);
    // Another receiver without a profile knows no command at all.
    EXPECT_FALSE(m_menu.ItemInsert(kOpen, -1, NULL, CExtCmdIcon(), m_hWndOther));

    bool bThrown = false;
    try
    {
        m_menu.ItemGetInfo(4);
    }
    catch (CInvalidArgException* e)
    {
        bThrown = true;
        e->Delete();
    }
    EXPECT_TRUE(bThrown);
}

TEST_F(MenuItemsTest, TextsSplitAtTheTabAndGiveTheAccessKey)
{
    ASSERT_TRUE(m_menu.ItemInsert(kExit));
    ASSERT_TRUE(m_menu.ItemSetText(0, "E&xit\tAlt+X"));
    EXPECT_STREQ((LPCTSTR)m_menu.ItemGetText(0), "E&xit");
    EXPECT_STREQ((LPCTSTR)m_menu.ItemGetAccelText(0), "Alt+X");
    EXPECT_EQ(m_menu.ItemGetInfo(0).GetAccessKey(), 'X');

    struct
    {
        const char* sText;
        char cKey;
    } cases[] = {{"Exit&", 0}, {"Exit", 0}, {"&a&b", 'A'}, {"x&&y", '&'}, {"&9 Recent", '9'}};
    for (const auto& c : cases)
    {
        ASSERT_TRUE(m_menu.ItemSetText(0, c.sText));
        EXPECT_EQ(m_menu.ItemGetInfo(0).GetAccessKey(), c.cKey) << c.sText;
    }
    EXPECT_FALSE(m_menu.ItemSetText(3, "x"));
    EXPECT_TRUE(m_menu.ItemSetAccelText(0, NULL));
    EXPECT_STREQ((LPCTSTR)m_menu.ItemGetAccelText(0), "");
}

TEST_F(MenuItemsTest, AccessKeySearchWrapsAroundAndSkipsTheStart)
{
    const char* texts[] = {"&Alpha", "&beta", "&Gamma", "&Bravo", "&Delta", "&0 Zero"};
    for (int i = 0; i < 6; i++)
        ASSERT_TRUE(m_menu.ItemInsertCommand(0x7200 + i, -1, texts[i]));
    EXPECT_EQ(m_menu.ItemFindByAccessKey('b'), 1) << "keys compare in upper case";
    EXPECT_EQ(m_menu.ItemFindByAccessKey('B', 1), 3);
    EXPECT_EQ(m_menu.ItemFindByAccessKey('B', 3), 1) << "wraps to the start";
    EXPECT_EQ(m_menu.ItemFindByAccessKey('D', 3), 4);
    EXPECT_EQ(m_menu.ItemFindByAccessKey('A', 3), 0);
    EXPECT_EQ(m_menu.ItemFindByAccessKey('X'), -1);
    EXPECT_EQ(m_menu.ItemFindByAccessKey('0'), -1) << "the digit zero never matches";
    m_menu.ItemEnabledSet(0, false);
    EXPECT_EQ(m_menu.ItemFindByAccessKey('A'), -1) << "a disabled item is not found";

    // Only B at 3: searching from 3 looks at 4, 5, 0, 1, 2 and never at 3.
    m_menu.ItemSetText(1, "be&ta");
    EXPECT_EQ(m_menu.ItemFindByAccessKey('B', 3), -1);
    EXPECT_EQ(m_menu.ItemFindByAccessKey('T', 3), 1);

    EXPECT_EQ(m_menu.ItemFindByText("&Delta"), 4);
    EXPECT_EQ(m_menu.ItemFindByText("&delta"), -1) << "case-sensitive";
    EXPECT_EQ(m_menu.ItemFindByText("&Delta", 4), -1);
    EXPECT_EQ(m_menu.ItemFindByText(""), -1);
    EXPECT_EQ(m_menu.ItemFindPosForCmdID(0x7202), 2);
    EXPECT_EQ(m_menu.ItemFindPosForCmdID(0x7202, 2), -1) << "no wrap-around";
}

TEST_F(MenuItemsTest, CustomItemsKeepTheirCallersTextsAndChecks)
{
    CExtCmdIcon icon;
    icon.AssignFromHICON(::LoadIcon(NULL, IDI_APPLICATION), true);
    ASSERT_TRUE(m_menu.ItemInsertCommand(kOpen, -1, "Mine", "F9", icon, 1));
    ASSERT_TRUE(m_menu.ItemInsertCommand(kNoSuch, -1, NULL, NULL, CExtCmdIcon(), 2));
    ASSERT_TRUE(m_menu.ItemInsertCommand(kSave, -1, "R&adio", NULL, CExtCmdIcon(), 3));
    ASSERT_TRUE(m_menu.ItemInsertCommand(CExtPopupMenuWnd::TYPE_POPUP, -1, "&Sub"));
    const CExtPopupMenuWnd::MENUITEMDATA& mine = m_menu.ItemGetInfo(0);
    EXPECT_TRUE(mine.IsCustom());
    EXPECT_STREQ((LPCTSTR)mine.GetText(), "Mine") << "the profile is not asked";
    EXPECT_STREQ((LPCTSTR)mine.GetAccelText(), "F9");
    EXPECT_TRUE(mine.GetCheck());
    EXPECT_EQ(mine.GetCmdItem(), nullptr) << "a custom item has no command item";
    EXPECT_FALSE(m_menu.ItemGetIcon(0).IsEmpty());
    EXPECT_TRUE(m_menu.ItemGetInfo(1).GetIndeterminate());
    EXPECT_STREQ((LPCTSTR)m_menu.ItemGetText(1), "");
    EXPECT_TRUE(m_menu.ItemGetInfo(2).GetRadio());
    EXPECT_FALSE(m_menu.ItemGetInfo(2).GetCheck());
    ASSERT_NE(m_menu.ItemGetPopup(3), nullptr);
    EXPECT_EQ(m_menu.ItemGetPopup(3)->GetParentMenu(), &m_menu);
    EXPECT_EQ(m_menu.ItemGetPopup(0), nullptr);
    for (int i = 0; i < 4; i++)
        EXPECT_TRUE(m_menu.ItemIsDisplayed(i)) << "item " << i;

    // Sub-menu and custom items take icons; profile command items do not.
    EXPECT_TRUE(m_menu.ItemSetPopupIcon(3, icon));
    EXPECT_FALSE(m_menu.ItemGetIcon(3).IsEmpty());
    ASSERT_TRUE(m_menu.ItemInsert(kExit));
    EXPECT_FALSE(m_menu.ItemSetPopupIcon(4, icon));
}

TEST_F(MenuItemsTest, FlagsEnablingAndSeparators)
{
    ASSERT_TRUE(m_menu.ItemInsert(kOpen));
    ASSERT_TRUE(m_menu.ItemInsert(0));
    ASSERT_TRUE(m_menu.ItemInsert(0));
    ASSERT_TRUE(m_menu.ItemInsert(kSave));
    EXPECT_TRUE(m_menu.ItemEnabledGet(0));
    EXPECT_FALSE(m_menu.ItemEnabledGet(1)) << "a separator is never enabled";
    EXPECT_FALSE(m_menu.ItemEnabledSet(1, true));
    EXPECT_FALSE(m_menu.ItemEnabledGet(1));
    EXPECT_TRUE(m_menu.ItemEnabledSet(0, false));
    EXPECT_FALSE(m_menu.ItemEnabledGet(0));

    EXPECT_TRUE(m_menu.ItemBoldSet(3, true));
    EXPECT_TRUE(m_menu.ItemBoldGet(3));
    EXPECT_TRUE(m_menu.ItemDefaultGet(3)) << "bold makes the item the default one";
    EXPECT_TRUE(m_menu.ItemFlagSet(0, true));
    EXPECT_TRUE(m_menu.ItemFlagGet(0));
    EXPECT_TRUE(m_menu.ItemPaletteWrapSet(0, true));
    EXPECT_TRUE(m_menu.ItemPaletteWrapGet(0));

    EXPECT_EQ(m_menu.ItemRemoveSeparators(), 2);
    ASSERT_EQ(m_menu.ItemGetCount(), 2);
    EXPECT_EQ(m_menu.ItemGetCmdID(1), kSave);
    EXPECT_FALSE(m_menu.ItemRemove(2));
    EXPECT_TRUE(m_menu.ItemRemove(0));
    EXPECT_EQ(m_menu.ItemGetCmdID(0), kSave);
    EXPECT_FALSE(m_menu.IsAllItemsHidden());
}

TEST_F(MenuItemsTest, MeasuringWithThePaintManagersFonts)
{
    CExtPaintManager* pPM = g_CurrentPaintManager.GetPM();
    ASSERT_NE(pPM, nullptr);
    ASSERT_TRUE(m_menu.ItemInsertCommand(0x7301, -1, "Same text"));
    ASSERT_TRUE(m_menu.ItemInsertCommand(0x7302, -1, "Same text"));
    ASSERT_TRUE(m_menu.ItemInsert(0));
    m_menu.ItemDefaultSet(1, true);
    const CSize sizePlain = m_menu.ItemGetInfo(0).GetMeasuredSize();
    const CSize sizeDefault = m_menu.ItemGetInfo(1).GetMeasuredSize();
    const int nBoldExtra = TextWidth(pPM->m_FontBold, "Same text") - TextWidth(pPM->m_FontNormal, "Same text");
    EXPECT_EQ(sizeDefault.cx - sizePlain.cx, 5 + nBoldExtra);
    // width = text + 4 + 26 + icon area (height 22 + 2) + 16
    EXPECT_EQ(sizePlain.cx, TextWidth(pPM->m_FontNormal, "Same text") + 4 + 26 + 24 + 16);
    EXPECT_EQ(sizePlain.cy, 22) << "every item is at least 22 pixels high";
    EXPECT_EQ(m_menu.ItemGetInfo(0).GetIconAreaWidth(), 24);
    EXPECT_EQ(m_menu.ItemGetInfo(2).GetMeasuredSize(), CSize(0, CExtPopupMenuWnd::stat_GetSeparatorHeight(pPM)));

    // The accelerator text is measured with the text, the ampersand is not.
    ASSERT_TRUE(m_menu.ItemInsertCommand(0x7303, -1, "S&ame text", "Ctrl+Q"));
    EXPECT_EQ(m_menu.ItemGetInfo(3).GetMeasuredSize().cx,
              TextWidth(pPM->m_FontNormal, "Same textCtrl+Q") + 4 + 26 + 24 + 16);
}

TEST_F(MenuItemsTest, SubMenusAreOwnedByTheirItems)
{
    CountedMenu* pSub = new CountedMenu;
    CountedMenu* pSubSub = new CountedMenu;
    ASSERT_TRUE(pSub->CreatePopupMenu(m_hWnd));
    EXPECT_TRUE(pSub->IsTopLevel());
    ASSERT_TRUE(pSub->ItemInsertSubMenu(pSubSub, -1, "&Deeper"));
    ASSERT_TRUE(m_menu.ItemInsertSubMenu(pSub, -1, "&Sub\tF2"));
    EXPECT_FALSE(pSub->IsTopLevel()) << "an inserted menu is no longer top level";
    EXPECT_EQ(pSub->GetParentMenu(), &m_menu);
    EXPECT_EQ(pSubSub->GetParentMenu(), pSub);
    EXPECT_EQ(m_menu.ItemGetPopup(0), pSub);
    EXPECT_STREQ((LPCTSTR)m_menu.ItemGetText(0), "&Sub");
    EXPECT_STREQ((LPCTSTR)m_menu.ItemGetAccelText(0), "F2");
    EXPECT_TRUE(m_menu.ItemGetInfo(0).IsEnabled()) << "a sub-menu without command is enabled";
    ASSERT_TRUE(pSubSub->ItemInsertCommand(0x7401, -1, "leaf"));

    // Three levels: the receiver reaches the direct sub-menus only.
    m_menu.SetCmdReceiver(m_hWndOther, false);
    EXPECT_EQ(m_menu.ItemGetInfo(0).GetCmdReceiver(), m_hWndOther);
    EXPECT_EQ(pSub->ItemGetInfo(0).GetCmdReceiver(), m_hWndOther);
    EXPECT_EQ(pSubSub->ItemGetInfo(0).GetCmdReceiver(), m_hWnd) << "the third level keeps its receiver";
    EXPECT_EQ(m_menu.GetCmdReceiverHWND(), m_hWnd) << "the menu's own receiver is unchanged";

    ASSERT_TRUE(m_menu.ItemRemove(-1));
    EXPECT_EQ(m_menu.ItemGetCount(), 0);
    EXPECT_EQ(g_nSubMenusDeleted, 2) << "removing all items frees the whole sub-menu tree";
    EXPECT_TRUE(m_menu.IsAllItemsHidden());
}

TEST_F(MenuItemsTest, ATopLevelMenuFreesItsTreeWhenDestroyed)
{
    {
        CExtPopupMenuWnd menu;
        ASSERT_TRUE(menu.CreatePopupMenu(m_hWnd));
        EXPECT_FALSE(menu.CreatePopupMenu(m_hWnd)) << "already in use";
        ASSERT_TRUE(menu.ItemInsertSubMenu(new CountedMenu, -1, "a"));
        ASSERT_TRUE(menu.ItemInsertSubMenu(new CountedMenu, -1, "b"));
    }
    EXPECT_EQ(g_nSubMenusDeleted, 2);

    CExtPopupMenuWnd menuOther;
    ASSERT_TRUE(menuOther.ItemInsert(CExtPopupMenuWnd::TYPE_POPUP, -1, "made here"));
    EXPECT_NE(menuOther.ItemGetPopup(0), nullptr) << "inserting a sub-menu item creates its menu";
    EXPECT_FALSE(menuOther.CreatePopupMenu(m_hWnd)) << "a menu with items cannot be made a new top level";
    menuOther.ItemRemove(-1);
}

TEST_F(MenuItemsTest, IconsAndTipsComeFromTheCommand)
{
    HICON hIcon = ::LoadIcon(NULL, IDI_APPLICATION);
    ASSERT_TRUE(g_CommandManager->CmdSetIconFromHICON(kProfile, kSave, hIcon, true));
    g_CommandManager->CmdGetPtr(kProfile, kSave)->m_sTipTool = "Saves the file";
    ASSERT_TRUE(m_menu.ItemInsert(kSave));
    ASSERT_TRUE(m_menu.ItemInsert(kOpen));
    EXPECT_EQ(&m_menu.ItemGetIcon(0), g_CommandManager->CmdGetIconPtr(kProfile, kSave));
    EXPECT_TRUE(m_menu.ItemGetIcon(1).IsEmpty());
    // A 32 x 32 icon widens the icon column and heightens the item.
    EXPECT_EQ(m_menu.ItemGetInfo(0).GetIconAreaWidth(), 38);
    EXPECT_EQ(m_menu.ItemGetInfo(0).GetMeasuredSize().cy, 36);

    CString sTip;
    m_menu.ItemGetInfo(0).GetTipText(sTip);
    EXPECT_STREQ((LPCTSTR)sTip, "Saves the file");
    m_menu.ItemGetInfo(0).m_sTipText = "Own tip";
    m_menu.ItemGetInfo(0).GetTipText(sTip);
    EXPECT_STREQ((LPCTSTR)sTip, "Own tip");
    ASSERT_TRUE(m_menu.ItemInsert(0));
    m_menu.ItemGetInfo(2).GetTipText(sTip);
    EXPECT_STREQ((LPCTSTR)sTip, "") << "a separator has no tip";
}
