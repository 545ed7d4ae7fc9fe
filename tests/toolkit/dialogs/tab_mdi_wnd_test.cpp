// The MDI tab strip following its MDI client: tabs for new children with their titles
// and window numbers, activation both ways, hidden children, the close button from the
// child's system menu, and the strip hiding when the last child is closed.
#include <gtest/gtest.h>
#include "framework/mdi.h"
#include "support/message_pump.h"
#include "toolkit/dialogs/tab_mdi_wnd.h"

using testsupport::PumpUntil;

namespace {

class MdiTabTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_pFrame = new CMDIFrameWnd;
        ASSERT_TRUE(m_pFrame->Create(NULL, "MDI", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(0, 0, 600, 400)));
        m_pTabs = new CExtTabMdiWnd;
        ASSERT_TRUE(m_pTabs->Create(m_pFrame, CRect(0, 0, 0, 0), 0xE810, WS_CHILD | WS_VISIBLE));
        m_pFrame->RecalcLayout();
    }
    void TearDown() override
    {
        m_pFrame->DestroyWindow();
        delete m_pTabs;
        testsupport::PumpPending();
    }
    CMDIChildWnd* NewChild(const char* sTitle, int nWindow)
    {
        CMDIChildWnd* p = new CMDIChildWnd;
        p->m_nWindow = nWindow;
        EXPECT_TRUE(p->Create(NULL, sTitle, WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW, CRect(0, 0, 200, 150),
                              m_pFrame));
        return p;
    }
    // Lets the posted synchronisation run: the strip posts it to itself, and a child's
    // system command comes posted too, so nothing is left once the queue has run dry.
    void Sync()
    {
        EXPECT_TRUE(testsupport::PumpUntilIdle());
        testsupport::PumpPending();
    }
    HWND Active() const { return (HWND)::SendMessage(m_pFrame->m_hWndMDIClient, WM_MDIGETACTIVE, 0, 0); }
    CMDIFrameWnd* m_pFrame = nullptr;
    CExtTabMdiWnd* m_pTabs = nullptr;
};

}  // namespace

TEST_F(MdiTabTest, TabsFollowTheChildren)
{
    EXPECT_FALSE(m_pTabs->IsWindowVisible()) << "no children, no strip";
    CMDIChildWnd* pA = NewChild("Doc", 1);
    CMDIChildWnd* pB = NewChild("Doc", 2);
    CMDIChildWnd* pC = NewChild("Notes", -1);
    Sync();
    ASSERT_EQ(3, m_pTabs->ItemGetCount());
    EXPECT_TRUE(m_pTabs->IsWindowVisible());
    struct Case
    {
        CMDIChildWnd* pChild;
        const char* sText;
    } const kCases[] = {{pA, "Doc:1"}, {pB, "Doc:2"}, {pC, "Notes"}};
    for (const Case& c : kCases)
    {
        const int nIndex = m_pTabs->ItemFindByHWND(c.pChild->m_hWnd);
        ASSERT_GE(nIndex, 0) << c.sText;
        EXPECT_STREQ(c.sText, (LPCTSTR)m_pTabs->ItemGet(nIndex)->GetText());
    }
    EXPECT_EQ(m_pTabs->ItemFindByHWND(pC->m_hWnd), m_pTabs->SelectionGet()) << "the active child's tab";

    // A tab activates its child; a child activated in the client selects its tab.
    m_pTabs->SelectionSet(m_pTabs->ItemFindByHWND(pA->m_hWnd), true, true);
    EXPECT_EQ(pA->m_hWnd, Active());
    pB->MDIActivate();
    EXPECT_EQ(m_pTabs->ItemFindByHWND(pB->m_hWnd), m_pTabs->SelectionGet());
    EXPECT_EQ(pB->m_hWnd, Active());

    // A hidden child keeps an invisible tab.
    pA->ShowWindow(SW_HIDE);
    m_pTabs->PostMessage(WM_TIMER, 3, 0);
    Sync();
    ASSERT_EQ(3, m_pTabs->ItemGetCount());
    EXPECT_FALSE(m_pTabs->ItemGet(m_pTabs->ItemFindByHWND(pA->m_hWnd))->VisibleGet());
    EXPECT_EQ(2, m_pTabs->ItemGetVisibleCount());

    // The close button follows the active child's system menu.
    for (bool bGrayed : {true, false})
    {
        ::EnableMenuItem(::GetSystemMenu(pB->m_hWnd, FALSE), SC_CLOSE, MF_BYCOMMAND | (bGrayed ? MF_GRAYED : MF_ENABLED));
        m_pTabs->PostMessage(WM_TIMER, 3, 0);
        Sync();
        EXPECT_EQ(!bGrayed, (m_pTabs->GetTabWndStyle() & CExtTabWnd::__ETWS_ENABLED_BTN_CLOSE) != 0) << bGrayed;
    }

    // Closing every child removes the tabs and hides the strip.
    for (CMDIChildWnd* p : {pA, pB, pC})
        p->MDIDestroy();
    Sync();
    EXPECT_EQ(0, m_pTabs->ItemGetCount());
    EXPECT_FALSE(m_pTabs->IsWindowVisible());
}

TEST_F(MdiTabTest, StripAndClientShareTheFrame)
{
    NewChild("Doc", -1);
    Sync();
    m_pFrame->RecalcLayout();
    CRect rcStrip, rcClientWnd, rcFrame;
    m_pTabs->GetWindowRect(&rcStrip);
    ::GetWindowRect(m_pFrame->m_hWndMDIClient, &rcClientWnd);
    m_pFrame->GetClientRect(&rcFrame);
    m_pFrame->ScreenToClient(&rcStrip);
    m_pFrame->ScreenToClient(&rcClientWnd);
    EXPECT_EQ(0, rcStrip.top);
    EXPECT_EQ(rcStrip.bottom, rcClientWnd.top) << "the client starts below the strip";
    EXPECT_EQ(rcFrame.bottom, rcClientWnd.bottom);
    // The client keeps a 2-pixel frame on the three sides away from the strip.
    CRect rcInner;
    ::GetClientRect(m_pFrame->m_hWndMDIClient, &rcInner);
    EXPECT_EQ(rcClientWnd.Width() - 4, rcInner.Width());
    EXPECT_EQ(rcClientWnd.Height() - 2, rcInner.Height());
}

// Releasing the close button closes the selected tab's child through its system command;
// other mouse buttons leave the click to the default handling.
TEST_F(MdiTabTest, CloseButtonClosesTheSelectedChild)
{
    CMDIChildWnd* pA = NewChild("A", -1);
    CMDIChildWnd* pB = NewChild("B", -1);
    Sync();
    const HWND hWndA = pA->m_hWnd, hWndB = pB->m_hWnd;
    m_pTabs->ModifyTabWndStyle(0, CExtTabWnd::__ETWS_SHOW_BTN_CLOSE, true);
    m_pTabs->SelectionSet(m_pTabs->ItemFindByHWND(hWndA), true, true);
    EXPECT_FALSE(m_pTabs->OnTabWndClickedButton(CExtTabWnd::__ETWH_BUTTON_CLOSE, false, 2, 0));
    Sync();
    EXPECT_TRUE(::IsWindow(hWndA)) << "a right click closes nothing";
    m_pTabs->OnTabWndClickedButton(CExtTabWnd::__ETWH_BUTTON_CLOSE, false, 1, 0);
    Sync();
    EXPECT_FALSE(::IsWindow(hWndA));
    ASSERT_TRUE(::IsWindow(hWndB));
    EXPECT_EQ(1, m_pTabs->ItemGetCount());
    EXPECT_EQ(0, m_pTabs->ItemFindByHWND(hWndB));
}
