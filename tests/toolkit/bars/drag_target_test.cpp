// Where a dragged bar would go, worked out on plain rectangles: the bands round a target
// bar, the ring-one bands of the frame's docking area, the highlight's part of a marker's
// area and the tab shape of a tabbed drop.
#include <gtest/gtest.h>

#include "framework/framework.h"
#include "toolkit/bars/control_bar.h"

namespace {

std::string Str(const RECT& rc)
{
    return std::to_string(rc.left) + "," + std::to_string(rc.top) + "," + std::to_string(rc.right) + "," +
           std::to_string(rc.bottom);
}

}  // namespace

TEST(DragTarget, BandsRoundATargetBar)
{
    // R is 200 x 300; a visible strip lies along its bottom 20 pixels when asked for.
    struct Case
    {
        const char* sName;
        POINT pt;
        bool bTabMates, bNeighbours, bContainerWithStrip, bWideDockBar;
        int nMinSrcY, nMaxHalfRule;
        int nKind;
        RECT rcTrack;
        bool bRefused;
    } cases[] = {
        {"caption band joins as a tab", {200, 110}, true, true, false, false, 8, 0, 27, {100, 100, 300, 400}, false},
        {"caption band of a group", {200, 110}, true, true, true, false, 8, 0, 28, {100, 100, 300, 400}, false},
        {"band below the caption docks above", {200, 140}, true, true, false, false, 8, 0, 1, {100, 100, 300, 250},
         false},
        {"without tab mates the top band docks above", {200, 110}, false, true, false, false, 8, 0, 1,
         {100, 100, 300, 250}, false},
        {"the half above widens to the dock bar", {200, 140}, true, true, false, true, 8, 0, 1, {50, 100, 350, 250},
         false},
        {"bottom band docks below", {200, 370}, true, true, false, false, 8, 0, 2, {100, 250, 300, 400}, false},
        {"bottom band ends at the strip", {200, 360}, true, true, true, false, 8, 0, 2, {100, 250, 300, 380}, false},
        {"on the strip", {150, 390}, true, true, true, false, 8, 0, 29, {100, 100, 300, 400}, false},
        {"left band", {110, 250}, true, true, false, false, 8, 0, 3, {100, 100, 200, 400}, false},
        {"right band", {290, 250}, true, true, false, false, 8, 0, 4, {200, 100, 300, 400}, false},
        {"the middle is no target", {200, 250}, true, true, false, false, 8, 0, 0, {0, 0, 0, 0}, false},
        {"neighbours refused end the search", {200, 140}, true, false, false, false, 8, 0, 0, {0, 0, 0, 0}, true},
        {"too high a bar skips the top part", {200, 110}, true, true, false, false, 200, 0, 0, {0, 0, 0, 0}, false},
        {"too high a bar still docks left", {110, 110}, true, true, false, false, 200, 0, 3, {100, 100, 200, 400},
         false},
        {"the half-size rule capped at 64", {200, 110}, true, true, false, false, 200, 64, 27, {100, 100, 300, 400},
         false},
        {"outside R", {50, 50}, true, true, false, false, 8, 0, 0, {0, 0, 0, 0}, false},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.sName);
        CExtControlBar::BandQuery q;
        ::SetRect(&q.m_rcTarget, 100, 100, 300, 400);
        if (c.bContainerWithStrip)
            ::SetRect(&q.m_rcStrip, 100, 380, 300, 400);
        if (c.bWideDockBar)
            ::SetRect(&q.m_rcDockBar, 50, 90, 350, 410);
        q.m_bTabMates = c.bTabMates;
        q.m_bNeighbours = c.bNeighbours;
        q.m_bDstIsContainer = c.bContainerWithStrip;
        q.m_sizeMinSrc.cy = c.nMinSrcY;
        q.m_nMaxHalfRule = c.nMaxHalfRule;
        RECT rc;
        bool bRefused = false;
        EXPECT_EQ(c.nKind, CExtControlBar::CalcBandTarget(q, c.pt, rc, bRefused));
        EXPECT_EQ(Str(c.rcTrack), Str(rc));
        EXPECT_EQ(c.bRefused, bRefused);
    }
}

TEST(DragTarget, RingOneBandsOfTheDockingArea)
{
    const RECT rcArea = {0, 0, 400, 300};
    const SIZE sizeH = {200, 50}, sizeV = {60, 200};
    struct Case
    {
        const char* sName;
        POINT pt;
        DWORD dwStyle;
        int nKind;
        RECT rcTrack;
    } cases[] = {
        {"top", {200, 15}, CBRS_ALIGN_ANY, 9, {0, 0, 400, 50}},
        {"top band is 16 deep", {200, 16}, CBRS_ALIGN_ANY, 0, {0, 0, 0, 0}},
        {"bottom", {200, 284}, CBRS_ALIGN_ANY, 10, {0, 250, 400, 300}},
        {"left", {5, 150}, CBRS_ALIGN_ANY, 11, {0, 0, 60, 300}},
        {"right", {395, 150}, CBRS_ALIGN_ANY, 12, {340, 0, 400, 300}},
        {"a side the bar refuses", {5, 150}, CBRS_ALIGN_TOP, 0, {0, 0, 0, 0}},
        {"the corner goes to the first side allowed", {5, 5}, CBRS_ALIGN_LEFT | CBRS_ALIGN_BOTTOM, 11, {0, 0, 60, 300}},
        {"outside the area", {500, 5}, CBRS_ALIGN_ANY, 0, {0, 0, 0, 0}},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.sName);
        RECT rc;
        EXPECT_EQ(c.nKind, CExtControlBar::CalcRingOneTarget(rcArea, c.pt, c.dwStyle, sizeH, sizeV, rc));
        EXPECT_EQ(Str(c.rcTrack), Str(rc));
    }
}

TEST(DragTarget, HighlightCoversThePartTheBarWouldTake)
{
    const RECT rcArea = {0, 0, 200, 101};
    struct Case
    {
        const char* sName;
        int nKind;
        bool bBar;
        int cyH, cxV;
        RECT rc;
    } cases[] = {
        {"upper half of a bar, halved down", 0, true, 0, 0, {0, 0, 200, 50}},
        {"lower half of a bar", 1, true, 0, 0, {0, 51, 200, 101}},
        {"left half of a bar", 2, true, 0, 0, {0, 0, 100, 101}},
        {"right half of a bar", 3, true, 0, 0, {100, 0, 200, 101}},
        {"centre covers it all", 8, true, 0, 0, {0, 0, 200, 101}},
        {"the group background docks nothing", 4, true, 0, 0, {0, 0, 0, 0}},
        {"frame side: at least 30 high", 0, false, 20, 0, {0, 0, 200, 30}},
        {"frame side: the docked height", 1, false, 45, 0, {0, 56, 200, 101}},
        {"frame side: the docked width", 2, false, 0, 80, {0, 0, 80, 101}},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.sName);
        const CRect rc = CExtDynDockHighlightWnd::CalcHighlightRect(c.nKind, rcArea, c.bBar, c.cyH, c.cxV);
        EXPECT_EQ(Str(c.rc), Str(rc));
    }
}

TEST(DragTarget, TabShapeOfATabbedDrop)
{
    struct Case
    {
        const char* sName;
        RECT rcClient;
        bool bTop, bRTL;
        RECT rcBody, rcTab;
    } cases[] = {
        {"strip at the bottom", {0, 0, 200, 100}, false, false, {0, 0, 200, 82}, {8, 82, 44, 100}},
        {"strip at the top", {0, 0, 200, 100}, true, false, {0, 18, 200, 100}, {8, 0, 44, 18}},
        {"right to left", {0, 0, 200, 100}, false, true, {0, 0, 200, 82}, {156, 82, 192, 100}},
        {"small: half the height and width", {0, 0, 60, 30}, false, false, {0, 0, 60, 15}, {8, 15, 38, 30}},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.sName);
        RECT rcBody, rcTab;
        CExtDynDockHighlightWnd::CalcTabShape(c.rcClient, c.bTop, c.bRTL, rcBody, rcTab);
        EXPECT_EQ(Str(c.rcBody), Str(rcBody));
        EXPECT_EQ(Str(c.rcTab), Str(rcTab));
    }
}
