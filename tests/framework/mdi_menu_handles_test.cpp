// The menu and accelerators an MDI child frame gives its MDI frame, and the frame menu
// handed to the MDI client.
#include <gtest/gtest.h>
#include "framework/framework.h"

TEST(MdiMenuHandles, AChildKeepsItsHandlesAndTheClientTakesTheFrameMenu)
{
    CMDIFrameWnd* pFrame = new CMDIFrameWnd;
    ASSERT_TRUE(pFrame->Create(NULL, "MDI", WS_OVERLAPPEDWINDOW, CRect(0, 0, 500, 300)));
    CMDIChildWnd* pChild = new CMDIChildWnd;
    ASSERT_TRUE(pChild->Create(NULL, "A", WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW, CRect(0, 0, 100, 80), pFrame));
    EXPECT_EQ(nullptr, pChild->m_hMenuShared);
    EXPECT_EQ(nullptr, pChild->m_hAccelTable);
    HMENU hMenu = ::CreateMenu();
    ::AppendMenu(hMenu, MF_STRING, 100, "&File");
    ACCEL accel = {FVIRTKEY | FCONTROL, 'N', 100};
    HACCEL hAccel = ::CreateAcceleratorTable(&accel, 1);
    pChild->SetHandles(hMenu, hAccel);
    EXPECT_EQ(hMenu, pChild->m_hMenuShared);
    EXPECT_EQ(hAccel, pChild->m_hAccelTable);

    // The frame had no menu; the client answers the previous one and shows the new one.
    EXPECT_EQ(nullptr, pFrame->MDISetMenu(CMenu::FromHandle(hMenu), NULL));
    EXPECT_EQ(hMenu, ::GetMenu(pFrame->m_hWnd));
    HMENU hMenu2 = ::CreateMenu();
    ::AppendMenu(hMenu2, MF_STRING, 101, "&Edit");
    CMenu* pOld = pFrame->MDISetMenu(CMenu::FromHandle(hMenu2), NULL);
    ASSERT_NE(nullptr, pOld);
    EXPECT_EQ(hMenu, pOld->GetSafeHmenu());
    EXPECT_EQ(hMenu2, ::GetMenu(pFrame->m_hWnd));
    ::SetMenu(pFrame->m_hWnd, NULL);
    pFrame->DestroyWindow();
    ::DestroyMenu(hMenu);
    ::DestroyMenu(hMenu2);
    ::DestroyAcceleratorTable(hAccel);
}
