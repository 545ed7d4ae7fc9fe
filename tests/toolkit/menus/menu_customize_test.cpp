// The menu in a customize site's drag and drop (with a test site: the program registers
// none): the drop marker over items, refusing the menu's own node, dropping a node into
// the menu and its tree, and moving a command out with the group separators kept tidy.
#include <gtest/gtest.h>

#include "framework/framework.h"
#include "support/message_pump.h"
#include "toolkit/core/cmd_manager.h"
#include "toolkit/core/cmd_tree.h"
#include "toolkit/menus/popup_menu_wnd.h"

#include <string>

using testsupport::PumpPending;

namespace {

const UINT kA = 0x7F11, kB = 0x7F12, kC = 0x7F13, kD = 0x7F14, kX = 0x7F15;

class CTestSite : public CExtCustomizeSite
{
public:
    bool IsCustomizeMode() const override { return true; }
    CExtCustomizeCmdTreeNode* DraggedNodeGet() override { return m_pDragged; }
    CExtCustomizeCmdTreeNode* m_pDragged = NULL;
};

class CustomizeDragTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_hWndRecv = ::CreateWindowA("STATIC", "", WS_POPUP, 0, 0, 10, 10, NULL, NULL, NULL, NULL);
        ASSERT_TRUE(g_CommandManager->ProfileSetup("customize", m_hWndRecv));
        for (UINT nID : {kA, kB, kC, kD, kX})
        {
            CExtCmdItem* pCmd = g_CommandManager->CmdAllocPtr("customize", nID);
            ASSERT_NE(pCmd, nullptr);
            pCmd->m_sMenuText.Format("Cmd%X", nID & 0xF);
        }
        CExtCustomizeSite::g_CustomizeSitesMap.SetAt(m_hWndRecv, &m_site);
        // A | B | C D: B and C each start a group.
        m_tree.InsertNode(NULL, new CExtCustomizeCmdTreeNode(kA, kA));
        m_tree.InsertNode(NULL, new CExtCustomizeCmdTreeNode(kB, kB, NULL, 0x10));
        m_tree.InsertNode(NULL, new CExtCustomizeCmdTreeNode(kC, kC, NULL, 0x10));
        m_tree.InsertNode(NULL, new CExtCustomizeCmdTreeNode(kD, kD));
    }
    void TearDown() override
    {
        if (m_pMenu != NULL)
        {
            m_pMenu->DestroyWindow();
            EXPECT_EQ(m_site.m_arrDropTargets.GetSize(), 0) << "unregistered with the window";
            delete m_pMenu;
        }
        PumpPending();
        CExtCustomizeSite::g_CustomizeSitesMap.RemoveKey(m_hWndRecv);
        g_CommandManager->ProfileDestroy("customize", true);
        ::DestroyWindow(m_hWndRecv);
    }
    // The menu of the tree, shown untracked as a customize site shows it.
    void Show()
    {
        m_pMenu = new CExtPopupMenuWnd;
        ASSERT_TRUE(m_pMenu->BuildFromCmdTree(m_hWndRecv, &m_tree));
        ASSERT_TRUE(m_pMenu->TrackPopupMenu(CExtPopupMenuWnd::TMF_UNTRACKED, 100, 100));
        ASSERT_EQ(m_site.m_arrDropTargets.GetSize(), 1);
        EXPECT_EQ(m_site.m_arrDropTargets[0], static_cast<CExtCustomizeSite::ICustomizeDropTarget*>(m_pMenu));
    }
    std::string Items() const
    {
        std::string s;
        for (int i = 0; i < m_pMenu->ItemGetCount(); i++)
            s += m_pMenu->ItemGetInfo(i).IsSeparator() ? "|" : (LPCTSTR)m_pMenu->ItemGetText(i).Right(1);
        return s;
    }
    std::string Tree() const
    {
        std::string s;
        for (int i = 0; i < m_tree.GetNodeCount(); i++)
        {
            if ((m_tree.ElementAt(i)->GetFlags() & 0x10) != 0)
                s += "|";
            s += "0123456789ABCDEF"[m_tree.ElementAt(i)->GetCmdID(false) & 0xF];
        }
        return s;
    }
    CPoint ItemPoint(int nItem, bool bLowerHalf) const
    {
        CRect rc;
        m_pMenu->GetItemRect(nItem, rc, true);
        if (rc.Height() < 6)
            return rc.CenterPoint();  // a separator's thin row
        return CPoint(rc.CenterPoint().x, bLowerHalf ? rc.bottom - 2 : rc.top + 2);
    }

    HWND m_hWndRecv = NULL;
    CTestSite m_site;
    CExtCustomizeCmdTreeNode m_tree;
    CExtPopupMenuWnd* m_pMenu = NULL;
};

}  // namespace

TEST_F(CustomizeDragTest, DropMarkerFollowsTheItemHalves)
{
    Show();
    ASSERT_EQ(Items(), "1|2|34");
    CExtCustomizeCmdTreeNode node(kX, kX);
    CExtCustomizeSite::CCmdDragInfo info(&node);
    struct
    {
        int nItem;
        bool bLower;
        DWORD dwKeys;
        DROPEFFECT de;
        int nDropPos;
    } cases[] = {
        {0, false, 0, DROPEFFECT_MOVE, 0},
        {0, true, 0, DROPEFFECT_MOVE, 1},
        {2, true, MK_CONTROL, DROPEFFECT_COPY, 3},
        {1, true, 0, DROPEFFECT_MOVE, 1},  // a separator stands for the item before it
    };
    for (const auto& c : cases)
    {
        EXPECT_EQ(m_pMenu->OnCustomizeTargetOver(info, ItemPoint(c.nItem, c.bLower), c.dwKeys), c.de) << c.nItem;
        EXPECT_EQ(m_pMenu->GetDropPos(), c.nDropPos) << c.nItem << (c.bLower ? " lower" : " upper");
    }
    m_pMenu->OnCustomizeTargetLeave();
    EXPECT_EQ(m_pMenu->GetDropPos(), -1);
    CExtCustomizeSite::CCmdDragInfo own(&m_tree);
    EXPECT_EQ(m_pMenu->OnCustomizeTargetOver(own, ItemPoint(0, false), 0), (DROPEFFECT)DROPEFFECT_NONE)
        << "the menu's own node";
}

TEST_F(CustomizeDragTest, DropInsertsIntoMenuAndTree)
{
    Show();
    CExtCustomizeCmdTreeNode node(kX, kX);
    CExtCustomizeSite::CCmdDragInfo info(&node);
    // Right after the separator before B: X starts that group.
    ASSERT_EQ(m_pMenu->OnCustomizeTargetOver(info, ItemPoint(2, false), 0), (DROPEFFECT)DROPEFFECT_MOVE);
    ASSERT_EQ(m_pMenu->GetDropPos(), 2);
    EXPECT_TRUE(m_pMenu->OnCustomizeTargetDrop(info, ItemPoint(2, false), DROPEFFECT_MOVE));
    EXPECT_EQ(Items(), "1|52|34");
    EXPECT_EQ(Tree(), "1|52|34");
    EXPECT_EQ(m_pMenu->GetDropPos(), -1);
    EXPECT_NE(m_tree.ElementAt(1), &node) << "a copy goes into the tree";
    EXPECT_FALSE(m_pMenu->OnCustomizeTargetDrop(info, ItemPoint(0, false), DROPEFFECT_MOVE)) << "no drop position";
}

TEST_F(CustomizeDragTest, MovingOutKeepsOneSeparatorAndNoneAtTheEnds)
{
    Show();
    struct
    {
        int nNode;
        const char* sItems;
        const char* sTree;
    } steps[] = {
        {1, "1|34", "1|34"},  // the only command of its group
        {0, "34", "|34"},     // the first: no separator leads the menu
    };
    for (const auto& step : steps)
    {
        CExtCustomizeCmdTreeNode* pNode = m_tree.ElementAt(step.nNode);
        m_site.m_pDragged = pNode;
        bool bResult = false;
        m_pMenu->OnCustomizeSourceDragComplete(DROPEFFECT_MOVE, false, &bResult);
        EXPECT_EQ(Items(), step.sItems);
        EXPECT_EQ(Tree(), step.sTree);
        EXPECT_EQ(pNode->GetParentNode(), nullptr);
        delete pNode;
    }
    // A copy or a cancelled drag leaves the menu as it is.
    m_site.m_pDragged = m_tree.ElementAt(0);
    bool bResult = false;
    m_pMenu->OnCustomizeSourceDragComplete(DROPEFFECT_COPY, false, &bResult);
    EXPECT_EQ(Items(), "34");
    EXPECT_TRUE(bResult);
}
