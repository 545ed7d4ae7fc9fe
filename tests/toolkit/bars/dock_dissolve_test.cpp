// Containers that dissolve in the middle of a docking operation: a group emptied in a
// floating frame takes the frame down with it, and nothing may touch the freed group,
// frame or dock bars afterwards.
#include <gtest/gtest.h>

#include <string>

#include "framework/afxres.h"
#include "framework/framework.h"
#include "tests/support/message_pump.h"
#include "toolkit/bars/control_bar.h"
#include "toolkit/bars/dyn_control_bar.h"
#include "toolkit/bars/dyn_tab_control_bar.h"
#include "poisoned_bars.h"

namespace {

// Every bar sits where its dock bar says, in a dock bar that exists; no freed group or
// frame is still counted among the bars.
void ExpectSoundPlacement(PoisonedFloatBar* bars, int nBars)
{
    EXPECT_TRUE(PoisonedStore::FreedIntact());
    for (const auto& block : PoisonedStore::Freed())
        for (INT_PTR i = 0; i < CExtControlBar::g_AllBars.GetSize(); i++)
            EXPECT_NE(static_cast<void*>(block.first), static_cast<void*>(CExtControlBar::g_AllBars[i]));
    for (int i = 0; i < nBars; i++)
    {
        SCOPED_TRACE(i);
        ASSERT_TRUE(::IsWindow(bars[i].m_hWnd));
        CDockBar* pDock = bars[i].m_pDockBar;
        ASSERT_TRUE(pDock != NULL);
        ASSERT_TRUE(::IsWindow(pDock->m_hWnd));
        EXPECT_GT(pDock->FindBar(&bars[i]), 0);
        EXPECT_EQ(pDock->m_hWnd, ::GetParent(bars[i].m_hWnd));
    }
}

}  // namespace

// One, Two, Three, Four docked at the left; the steps: F floats One, T tabs Three onto
// One, B docks One beside Four along Four's dock bar (trailing), b docks Four beside One
// the same way, D docks Three above One; G tabs Four onto Two and M merges Three's group
// into Two's. In the order FTBD, D empties the floating group of Three, whose
// dissolving takes down the floating frame, the group and its dock bars with it.
// Groups and floating frames are poisoned once freed.
TEST(NestedDissolve, StepsInAnyNearbyOrderLeaveNoStalePointer)
{
    const char* const orders[] = {"FTBD", "FTDB", "FBTD", "TFBD", "TBFD", "TFDB", "BFTD", "FDTB", "FTbD", "FbTD", "FTGM", "GFTM"};
    for (const char* sOrder : orders)
    {
        SCOPED_TRACE(sOrder);
        PoisonedGroupsFrame* pFrame = new PoisonedGroupsFrame;
        pFrame->Create(NULL, "Dissolve", WS_OVERLAPPEDWINDOW, CRect(20, 20, 620, 470));
        CExtControlBar::EnableFrameDocking(pFrame);
        PoisonedFloatBar bars[4];
        const char* const names[4] = {"One", "Two", "Three", "Four"};
        for (int i = 0; i < 4; i++)
        {
            bars[i].Create(names[i], pFrame, UINT(51040 + i), WS_CHILD | WS_VISIBLE | CBRS_LEFT | CBRS_GRIPPER);
            bars[i].EnableDocking(CBRS_ALIGN_ANY);
            bars[i].m_bAutoDelete = FALSE;
        }
        pFrame->ShowWindow(SW_SHOWNA);
        for (int i = 0; i < 4; i++)
            bars[i].DockAtFrameSide(AFX_IDW_DOCKBAR_LEFT);
        pFrame->RecalcLayout(TRUE);
        testsupport::PumpPending();
        HWND hWndGroup = NULL;
        for (const char* p = sOrder; *p != 0; p++)
        {
            SCOPED_TRACE(std::string(1, *p));
            switch (*p)
            {
            case 'F': bars[0].ToggleDocking(); break;
            case 'T':
                bars[0].DockIntoTabbedBar(&bars[2], -1, NULL, true);
                if (bars[2].GetTabbedContainer() != NULL)
                    hWndGroup = bars[2].GetTabbedContainer()->m_hWnd;
                break;
            case 'B': bars[3].DockBesideBar(&bars[0], true, false); break;
            case 'b': bars[0].DockBesideBar(&bars[3], true, false); break;
            case 'D': bars[2].DockNextToPercent(50, &bars[0], AFX_IDW_DOCKBAR_TOP); break;
            case 'G': bars[1].DockIntoTabbedBar(&bars[3], -1, NULL, true); break;
            case 'M':
                if (bars[2].GetTabbedContainer() != NULL)
                    bars[1].DockIntoTabbedBar(bars[2].GetTabbedContainer(), -1, NULL, true);
                break;
            }
            testsupport::PumpPending();
            ExpectSoundPlacement(bars, 4);
        }
        if (std::string(sOrder) == "FTBD")
        {
            // Three's group went with its floating frame; Three stands above One.
            EXPECT_FALSE(::IsWindow(hWndGroup));
            EXPECT_EQ(2u, PoisonedStore::Freed().size());
            EXPECT_EQ(bars[0].m_pDockBar, bars[2].m_pDockBar);
            CRect rcOne, rcThree;
            bars[0].GetWindowRect(&rcOne);
            bars[2].GetWindowRect(&rcThree);
            EXPECT_LE(rcThree.bottom, rcOne.top);
            EXPECT_EQ(rcOne.left, rcThree.left);
        }
        pFrame->DestroyWindow();
        PoisonedStore::ReleaseFreed();
    }
}
