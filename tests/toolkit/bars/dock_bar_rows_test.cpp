// Rows of dock bars: the outer dock bar's row planning on plain records (shrinking by
// preference, wrapping, returning towards remembered places), the resizable row's
// length sharing, and a frame whose sides hold resizable bars in rows.
#include <gtest/gtest.h>

#include <vector>

#include "framework/afxres.h"
#include "framework/framework.h"
#include "toolkit/bars/control_bar.h"

namespace {

typedef CExtDockOuterBar::OuterLayoutItemData Item;

struct BarSpec
{
    int nLen, nThick, nMin;
    UINT nOrder;  // 0: no place record
    int nPref;
};

struct PlanCase
{
    const char* sName;
    int nAvail;
    BarSpec bars[3];
    int nBars;
    // Expected: planned (left, top, right, bottom) per bar, rows, row full, fixed cy.
    RECT rcPlans[3];
    int nRows;
    bool bRowFull;
};

}  // namespace

TEST(OuterRowPlan, ShrinksByPreferenceWrapsAndKeepsPlaces)
{
    const PlanCase cases[] = {
        {"fits", 300, {{100, 22, 30, 0, 0}, {80, 26, 30, 0, 0}}, 2, {{0, 0, 100, 26}, {100, 0, 180, 26}}, 1, false},
        {"shrinks from the end", 150, {{100, 22, 30, 0, 0}, {80, 22, 30, 0, 0}}, 2,
         {{0, 0, 100, 22}, {100, 0, 150, 22}}, 1, true},
        {"the preferred takes its length back", 150, {{100, 22, 30, 2, 100}, {80, 22, 30, 1, 80}}, 2,
         {{0, 0, 70, 22}, {70, 0, 150, 22}}, 1, true},
        {"wraps when the minimums do not fit", 100, {{100, 22, 60, 0, 0}, {80, 22, 60, 0, 0}}, 2,
         {{0, 0, 100, 22}, {0, 22, 80, 44}}, 2, true},
    };
    for (const PlanCase& c : cases)
    {
        SCOPED_TRACE(c.sName);
        CExtControlBar::OuterPlace_t places[3];
        CExtDockOuterBar::OuterItemsArr_t arrRow;
        for (int i = 0; i < c.nBars; i++)
        {
            Item item;
            item.m_bVisible = true;
            item.m_size = CSize(c.bars[i].nLen, c.bars[i].nThick);
            item.m_sizeMin = CSize(c.bars[i].nMin, c.bars[i].nThick);
            item.m_bTakesThickness = true;
            if (c.bars[i].nOrder != 0)
            {
                places[i].m_nOrder = c.bars[i].nOrder;
                places[i].m_nPrefHorz = c.bars[i].nPref;
                item.m_pPlace = &places[i];
            }
            arrRow.Add(item);
        }
        // The bars stand packed from the row's start, as the last layout left them.
        for (int i = 0, x = 0; i < c.nBars; x += c.bars[i].nLen, i++)
            arrRow[i].m_rcBar = CRect(x, 0, x + c.bars[i].nLen, c.bars[i].nThick);
        CSize sizeFixed(0, 0);
        CPoint ptPen(0, 0);
        int nRows = 0;
        bool bRowFull = false;
        CExtDockOuterBar::PlanRow(sizeFixed, CSize(c.nAvail, 200), ptPen, true, false, arrRow, &nRows, &bRowFull);
        for (int i = 0; i < c.nBars; i++)
            EXPECT_EQ(CRect(c.rcPlans[i]), arrRow[i].m_rcPreCalc) << "bar " << i;
        EXPECT_EQ(c.nRows, nRows);
        EXPECT_EQ(c.bRowFull, bRowFull);
        // The pen stands at the start of the next row; the dock bar's height is the
        // rows' thickness less the one pixel its final size adds back.
        EXPECT_EQ(CPoint(0, c.rcPlans[c.nBars - 1].bottom), ptPen);
        EXPECT_EQ(c.rcPlans[c.nBars - 1].bottom - 1, sizeFixed.cy);
    }
}

TEST(OuterRowPlan, ABarMovedAlongTheRowStaysWhereItWasLeft)
{
    CExtControlBar::OuterPlace_t place;
    place.m_nOrder = 1;
    CExtDockOuterBar::OuterItemsArr_t arrRow;
    Item item;
    item.m_bVisible = true;
    item.m_size = CSize(60, 22);
    item.m_sizeMin = CSize(20, 22);
    item.m_rcBar = CRect(90, 0, 150, 22);  // where the user left it
    item.m_pPlace = &place;
    arrRow.Add(item);
    CSize sizeFixed(0, 0);
    CPoint ptPen(0, 0);
    CExtDockOuterBar::PlanRow(sizeFixed, CSize(300, 100), ptPen, true, false, arrRow, NULL, NULL);
    EXPECT_EQ(CRect(90, 0, 150, 22), arrRow[0].m_rcPreCalc);
    EXPECT_EQ(CRect(90, 0, 150, 22), CRect(place.m_rcLast));  // the place is remembered
    EXPECT_EQ(60, place.m_nPrefHorz);
}

TEST(ResizableRow, SpareLengthIsSharedOnePixelAtATime)
{
    struct
    {
        const char* sName;
        int nDiff;
        CExtControlBar::RowSlot slots[3];
        int nLens[3];
    } cases[] = {
        {"grows in turn", 5, {{true, 50, 20}, {false, 30, 30}, {true, 50, 20}}, {53, 30, 52}},
        {"shrinks down to the minimum", -40, {{true, 30, 20}, {true, 60, 20}, {true, 40, 20}}, {20, 45, 25}},
        {"all at the minimum: the last takes all", 12, {{true, 20, 20}, {true, 20, 20}, {false, 9, 9}}, {20, 32, 9}},
    };
    for (auto& c : cases)
    {
        SCOPED_TRACE(c.sName);
        CExtControlBar::DistributeRowLengths(c.slots, 3, c.nDiff);
        for (int i = 0; i < 3; i++)
            EXPECT_EQ(c.nLens[i], c.slots[i].m_nLen) << "slot " << i;
    }
}

namespace {

struct DockFrame
{
    CFrameWnd* pFrame = new CFrameWnd;
    CExtControlBar bars[3];
    DockFrame(int cx, int cy)
    {
        pFrame->Create(NULL, "Docking", WS_OVERLAPPEDWINDOW, CRect(0, 0, cx, cy));
        for (int i = 0; i < 3; i++)
        {
            CString sName;
            sName.Format("Panel %d", i);
            bars[i].Create(sName, pFrame, 64001 + i, WS_CHILD | WS_VISIBLE | CBRS_TOP | CBRS_GRIPPER);
            bars[i].EnableDocking(CBRS_ALIGN_ANY);
        }
        pFrame->ShowWindow(SW_SHOWNA);
    }
    ~DockFrame() { pFrame->DestroyWindow(); }
    CRect ClientRectOf(CWnd* pWnd)
    {
        CRect rc;
        pWnd->GetWindowRect(&rc);
        pFrame->ScreenToClient(&rc);
        return rc;
    }
};

}  // namespace

TEST(FrameDocking, ResizableBarsOnTheSidesAndInOneRow)
{
    DockFrame f(500, 400);
    // Creating a resizable bar gave the frame the toolkit's dock bars.
    for (UINT nID : {AFX_IDW_DOCKBAR_TOP, AFX_IDW_DOCKBAR_BOTTOM, AFX_IDW_DOCKBAR_LEFT, AFX_IDW_DOCKBAR_RIGHT})
        EXPECT_TRUE(f.pFrame->GetControlBar(nID)->IsKindOf(RUNTIME_CLASS(CExtDockOuterBar))) << nID;
    ASSERT_TRUE(f.bars[0].DockAtFrameSide(AFX_IDW_DOCKBAR_LEFT));
    ASSERT_TRUE(f.bars[1].DockAtFrameSide(AFX_IDW_DOCKBAR_BOTTOM));
    CExtDockBar* pLeft = DYNAMIC_DOWNCAST(CExtDockBar, f.bars[0].m_pDockBar);
    ASSERT_TRUE(pLeft != NULL);
    // Docking at a frame side opens a new ring at the frame's edge: the bar docked
    // first now lies one ring further in.
    EXPECT_EQ(2u, pLeft->GetCircleNo());
    EXPECT_EQ(1u, DYNAMIC_DOWNCAST(CExtDockBar, f.bars[1].m_pDockBar)->GetCircleNo());
    EXPECT_FALSE(pLeft->IsKindOf(RUNTIME_CLASS(CExtDockOuterBar)));
    CRect rcClient;
    f.pFrame->GetClientRect(&rcClient);
    // The bottom bar spans the width below; the left bar the height above it.
    const CRect rcBottom = f.ClientRectOf(&f.bars[1]);
    const CRect rcLeft = f.ClientRectOf(&f.bars[0]);
    EXPECT_EQ(CRect(0, rcClient.bottom - 150, rcClient.right, rcClient.bottom), rcBottom);
    EXPECT_EQ(CRect(0, 0, 150, rcClient.bottom - 150), rcLeft);

    // A second bar dropped into the bottom row shares the row's length.
    CExtDockBar* pBottom = DYNAMIC_DOWNCAST(CExtDockBar, f.bars[1].m_pDockBar);
    ASSERT_TRUE(pBottom != NULL);
    CRect rcDrop;
    f.bars[1].GetWindowRect(&rcDrop);
    rcDrop.left = rcDrop.right - 50;
    pBottom->DockControlBar(&f.bars[2], rcDrop, true);
    f.pFrame->RecalcLayout(TRUE);
    const CRect rcA = f.ClientRectOf(&f.bars[1]), rcB = f.ClientRectOf(&f.bars[2]);
    EXPECT_EQ(rcA.top, rcB.top);
    EXPECT_EQ(rcA.right, rcB.left);
    EXPECT_EQ(0, rcA.left);
    EXPECT_EQ(rcClient.right, rcB.right);
    EXPECT_EQ(rcA.Height(), rcB.Height());
}

TEST(FrameDocking, ToolbarsInADockBarNarrowerThanTheirFramesWrapOnce)
{
    DockFrame f(500, 400);
    CExtDockBar* pTop = DYNAMIC_DOWNCAST(CExtDockBar, f.pFrame->GetControlBar(AFX_IDW_DOCKBAR_TOP));
    ASSERT_TRUE(pTop != NULL);
    CExtDockBar* pRing = pTop->GetRingDockBar(1);
    ASSERT_TRUE(pRing != NULL);
    CExtToolControlBar tools[2];
    const UINT ids[] = {0xE100, 0xE101};
    for (int i = 0; i < 2; i++)
    {
        ASSERT_TRUE(tools[i].Create("Tool", f.pFrame, 64031 + i, WS_CHILD | WS_VISIBLE | CBRS_TOP | CBRS_GRIPPER));
        tools[i].SetButtons(ids, 2);
        tools[i].EnableDocking(CBRS_ALIGN_ANY);
        pRing->DockControlBar(&tools[i], NULL, false);
    }
    CRect rcWnd, rcClient;
    tools[0].GetWindowRect(&rcWnd);
    tools[0].GetClientRect(&rcClient);
    ASSERT_GT(rcWnd.Width() - rcClient.Width(), 3);
    void* const t0 = static_cast<CControlBar*>(&tools[0]);
    void* const t1 = static_cast<CControlBar*>(&tools[1]);
    struct Case
    {
        const char* sName;
        std::vector<void*> before, after;
    } cases[] = {
        {"a bar that starts its row stays", {NULL, t0, NULL}, {NULL, t0, NULL}},
        {"the second bar of a row wraps", {NULL, t0, t1, NULL}, {NULL, t0, NULL, t1, NULL}},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.sName);
        pRing->m_arrBars.RemoveAll();
        for (void* p : c.before)
            pRing->m_arrBars.Add(p);
        // Far narrower than a toolbar's frame; every pass gives the same rows.
        pRing->m_bLayoutQuery = TRUE;
        pRing->m_rectLayout = CRect(0, 0, 3, 40);
        for (int nPass = 0; nPass < 3; nPass++)
            pRing->CalcFixedLayout(TRUE, TRUE);
        pRing->m_bLayoutQuery = FALSE;
        std::vector<void*> after;
        for (INT_PTR i = 0; i < pRing->m_arrBars.GetSize(); i++)
            after.push_back(pRing->m_arrBars[i]);
        EXPECT_EQ(c.after, after);
    }
    pRing->m_arrBars.RemoveAll();
    pRing->m_arrBars.Add(NULL);
    for (int i = 0; i < 2; i++)
        tools[i].DestroyWindow();
}
