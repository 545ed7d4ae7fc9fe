// The menu in a customize site's drag and drop (with a test site: the program registers
// none): the drop position over item halves, refusing the menu's own node, dropping a
// node into the menu and its tree, and moving a command out with tidy group separators.
#include "tests/toolkit/menus/menu_test_kit.h"

#include "support/dib_canvas.h"
#include "toolkit/core/cmd_manager.h"

#include <string>

using namespace menukit;

namespace {

const UINT kA = 0x7F11, kB = 0x7F12, kC = 0x7F13, kD = 0x7F14, kX = 0x7F15;

class CTestSite : public CExtCustomizeSite
{
public:
    bool IsCustomizeMode() const override { return true; }
    CExtCustomizeCmdTreeNode* DraggedNodeGet() override { return m_pDragged; }
    CExtCustomizeCmdTreeNode* m_pDragged = NULL;
};

class CustomizeDragTest : public ReceiverTest
{
protected:
    // The menu of the tree A | B | C D (B and C start groups), shown untracked as a
    // customize site shows it.
    void SetUp() override
    {
        ReceiverTest::SetUp();
        ASSERT_TRUE(g_CommandManager->ProfileSetup("customize", m_hWndRecv));
        for (UINT nID : {kA, kB, kC, kD, kX})
            g_CommandManager->CmdAllocPtr("customize", nID)->m_sMenuText.Format("Cmd%X", nID & 0xF);
        CExtCustomizeSite::g_CustomizeSitesMap.SetAt(m_hWndRecv, &m_site);
        for (UINT nID : {kA, kB, kC, kD})
            m_tree.InsertNode(NULL, new CExtCustomizeCmdTreeNode(nID, nID, NULL, (nID == kB || nID == kC) ? 0x10 : 0));
        m_pMenu = new CExtPopupMenuWnd;
        ASSERT_TRUE(m_pMenu->BuildFromCmdTree(m_hWndRecv, &m_tree));
        ASSERT_TRUE(m_pMenu->TrackPopupMenu(CExtPopupMenuWnd::TMF_UNTRACKED, 100, 100));
        ASSERT_EQ(m_site.m_arrDropTargets.GetSize(), 1);
        EXPECT_EQ(m_site.m_arrDropTargets[0], static_cast<CExtCustomizeSite::ICustomizeDropTarget*>(m_pMenu));
        ASSERT_EQ(Items(), "1|2|34");
    }
    void TearDown() override
    {
        m_pMenu->DestroyWindow();
        EXPECT_EQ(m_site.m_arrDropTargets.GetSize(), 0) << "unregistered with the window";
        delete m_pMenu;
        CExtCustomizeSite::g_CustomizeSitesMap.RemoveKey(m_hWndRecv);
        g_CommandManager->ProfileDestroy("customize", true);
        ReceiverTest::TearDown();
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
            s += std::string((m_tree.ElementAt(i)->GetFlags() & 0x10) != 0 ? "|" : "") +
                 "0123456789ABCDEF"[m_tree.ElementAt(i)->GetCmdID(false) & 0xF];
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

    CTestSite m_site;
    CExtCustomizeCmdTreeNode m_tree;
    CExtPopupMenuWnd* m_pMenu = NULL;
};

}  // namespace

TEST_F(CustomizeDragTest, DropPositionFollowsTheItemHalvesAndTheDropGoesThere)
{
    CExtCustomizeCmdTreeNode node(kX, kX);
    CExtCustomizeSite::CCmdDragInfo info(&node);
    const struct
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
        {2, false, 0, DROPEFFECT_MOVE, 2},
    };
    for (const auto& c : cases)
    {
        EXPECT_EQ(m_pMenu->OnCustomizeTargetOver(info, ItemPoint(c.nItem, c.bLower), c.dwKeys), c.de) << c.nItem;
        EXPECT_EQ(m_pMenu->GetDropPos(), c.nDropPos) << c.nItem << (c.bLower ? " lower" : " upper");
    }
    CExtCustomizeSite::CCmdDragInfo own(&m_tree);
    EXPECT_EQ(m_pMenu->OnCustomizeTargetOver(own, ItemPoint(0, false), 0), (DROPEFFECT)DROPEFFECT_NONE);

    // Dropped right after the separator before B: X starts that group.
    EXPECT_TRUE(m_pMenu->OnCustomizeTargetDrop(info, ItemPoint(2, false), DROPEFFECT_MOVE));
    EXPECT_EQ(Items(), "1|52|34");
    EXPECT_EQ(Tree(), "1|52|34");
    EXPECT_NE(m_tree.ElementAt(1), &node) << "a copy goes into the tree";
    EXPECT_EQ(m_pMenu->GetDropPos(), -1);
    EXPECT_FALSE(m_pMenu->OnCustomizeTargetDrop(info, ItemPoint(0, false), DROPEFFECT_MOVE)) << "no drop position";
}

TEST_F(CustomizeDragTest, ACommandNoItemCanBeMadeOfStaysOutOfTheTree)
{
    // 0x7F16 is in no profile: the menu cannot show it.
    CExtCustomizeCmdTreeNode unknown(0x7F16, 0x7F16);
    CExtCustomizeSite::CCmdDragInfo info(&unknown);
    EXPECT_EQ(m_pMenu->OnCustomizeTargetOver(info, ItemPoint(0, true), 0), (DROPEFFECT)DROPEFFECT_MOVE);
    EXPECT_FALSE(m_pMenu->OnCustomizeTargetDrop(info, ItemPoint(0, true), DROPEFFECT_MOVE));
    EXPECT_EQ(Items(), "1|2|34");
    EXPECT_EQ(Tree(), "1|2|34");
    EXPECT_EQ(m_pMenu->GetDropPos(), -1);
}

TEST_F(CustomizeDragTest, MovingOutKeepsOneSeparatorAndNoneAtTheEnds)
{
    const struct
    {
        int nNode;
        const char* sItems;
        const char* sTree;
    } steps[] = {{1, "1|34", "1|34"}, {0, "34", "|34"}};  // B alone in its group; then A, the first
    for (const auto& step : steps)
    {
        CExtCustomizeCmdTreeNode* pNode = m_tree.ElementAt(step.nNode);
        m_site.m_pDragged = pNode;
        m_pMenu->OnCustomizeSourceDragComplete(DROPEFFECT_MOVE, false, NULL);
        EXPECT_EQ(Items(), step.sItems);
        EXPECT_EQ(Tree(), step.sTree);
        EXPECT_EQ(pNode->GetParentNode(), nullptr) << "detached";
        delete pNode;
    }
    // A copy leaves the menu as it is.
    m_site.m_pDragged = m_tree.ElementAt(0);
    bool bResult = false;
    m_pMenu->OnCustomizeSourceDragComplete(DROPEFFECT_COPY, false, &bResult);
    EXPECT_EQ(Items(), "34");
    EXPECT_TRUE(bResult);
}

TEST_F(CustomizeDragTest, TheDropPositionAndTheDraggedItemAreMarked)
{
    CExtCustomizeCmdTreeNode node(kX, kX);
    CExtCustomizeSite::CCmdDragInfo info(&node);
    ASSERT_EQ(m_pMenu->OnCustomizeTargetOver(info, ItemPoint(0, true), 0), (DROPEFFECT)DROPEFFECT_MOVE);
    m_site.m_pDragged = m_tree.ElementAt(3);  // D, the last item
    CRect rcWnd, rc0, rcLast;
    m_pMenu->GetWindowRect(&rcWnd);
    m_pMenu->GetItemRect(0, rc0, true);
    m_pMenu->GetItemRect(5, rcLast, true);
    testsupport::DibCanvas canvas(rcWnd.Width(), rcWnd.Height());
    CDC dc;
    dc.Attach(canvas.Dc());
    m_pMenu->OnPaintMenu(dc, false);
    dc.Detach();
    const COLORREF clrMark = g_CurrentPaintManager.GetPM()->LookupColor(COLOR_BTNTEXT);
    // Drop position 1, before a separator: the mark lies along the bottom of item 0.
    EXPECT_EQ(canvas.Pixel(rc0.CenterPoint().x, rc0.bottom - 3), clrMark) << "the mark's bar";
    EXPECT_EQ(canvas.Pixel(rc0.left, rc0.bottom - 1), clrMark) << "its end tick";
    EXPECT_EQ(canvas.Pixel(rcLast.CenterPoint().x, rcLast.top), clrMark) << "the dragged item's frame";
    EXPECT_EQ(canvas.Pixel(rcLast.CenterPoint().x, rcLast.top + 2), canvas.Pixel(rc0.CenterPoint().x, rc0.top + 2))
        << "inside the frame the item as it is";
}
