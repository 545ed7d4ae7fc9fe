#include <gtest/gtest.h>
#include "framework/framework.h"
#include "toolkit/grid/grid_cell.h"

namespace {

// A stepping cell, as the up-down kinds are: up allowed below 3, down above 0.
class StepCell : public CExtGridCell {
public:
    int value = 0;
    bool CanIncrement() override { return value < 3; }
    bool CanDecrement() override { return value > 0; }
};

}  // namespace

TEST(GridCellParts, SizesAndMargins) {
    CExtGridCell cell;
    EXPECT_EQ(CRect(1, 1, 1, 1), cell.GetIconMargins());  // no icon
    EXPECT_EQ(CRect(2, 0, 2, 0), cell.GetMargins());
    EXPECT_EQ(CSize(0, 0), cell.GetSortArrowPartSize(0));
    EXPECT_EQ(CSize(0, 0), cell.GetFocusArrowPartSize(0));
    cell.ModifyStyle(0x100000);
    EXPECT_EQ(CSize(14, 14), cell.GetSortArrowPartSize(0));
    EXPECT_EQ(CSize(0, 0), cell.GetSortArrowPartSize(0, false, false));
    EXPECT_EQ(CSize(14, 14), cell.GetSortArrowPartSize(0, false, true));
    cell.ModifyStyle(0x800);
    EXPECT_EQ(CSize(12, 12), cell.GetFocusArrowPartSize(0));
    cell.ModifyStyle(0x8000, 0x800);
    EXPECT_EQ(CSize(12, 12), cell.GetFocusArrowPartSize(0));
    EXPECT_EQ(CSize(0, 0), cell.GetFocusArrowPartSize(0, false, false));
}

TEST(GridCellParts, DrawTextFlags) {
    struct { DWORD style, styleEx; bool horz, vert, drawing; UINT flags; } cases[] = {
        {0, 0, true, true, true, DT_NOPREFIX | DT_SINGLELINE | DT_VCENTER},
        {0, 0, true, true, false, DT_SINGLELINE | DT_VCENTER},
        {0x1, 0x10, true, false, true, DT_NOPREFIX | DT_WORDBREAK},
        {0x2 | 0x20, 0, true, true, true, DT_NOPREFIX | DT_SINGLELINE | DT_RIGHT | DT_BOTTOM},
        {0x3 | 0x10, 0, true, true, true, DT_NOPREFIX | DT_SINGLELINE | DT_CENTER},
        {0x3 | 0x30, 0, false, true, true, DT_NOPREFIX | DT_SINGLELINE | DT_VCENTER},
        {0x8, 0, false, false, true, DT_NOPREFIX | DT_SINGLELINE | DT_END_ELLIPSIS},
        {0x8, 0, false, false, false, DT_SINGLELINE},
    };
    int i = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(i++);
        CExtGridCell cell;
        cell.ModifyStyle(c.style);
        cell.ModifyStyleEx(c.styleEx);
        EXPECT_EQ(c.flags, cell.OnQueryDrawTextFlags(c.horz, c.vert, c.drawing));
    }
}

TEST(GridCellParts, ButtonInfoAndPressedState) {
    CExtGridCell cell;
    bool en = true, pr = true, hold = true;
    DWORD delay = 5;
    for (int t = -1; t <= 4; t++) {
        SCOPED_TRACE(t);
        EXPECT_FALSE(cell.OnQueryButtonInfo(t, &en, &pr, &hold, &delay));
        EXPECT_FALSE(en || pr || hold);
        EXPECT_EQ(0u, delay);
    }
    cell.ModifyStyle(0x08000000 | 0x02000000);
    ASSERT_TRUE(cell.OnQueryButtonInfo(0, &en, &pr, &hold, &delay));
    EXPECT_TRUE(en);
    EXPECT_FALSE(pr);
    EXPECT_TRUE(hold);
    EXPECT_EQ(0u, delay);
    ASSERT_TRUE(cell.OnQueryButtonInfo(1, &en, &pr, &hold, &delay));
    EXPECT_FALSE(hold);  // the drop-down does not repeat
    EXPECT_EQ(0u, delay);
    EXPECT_FALSE(cell.OnQueryButtonInfo(2, &en));

    EXPECT_EQ(0x4A000000u, cell.SetButtonPressed(1, true));
    EXPECT_EQ(0x4E000000u, cell.GetStyle());
    ASSERT_TRUE(cell.OnQueryButtonInfo(1, &en, &pr));
    EXPECT_TRUE(pr);
    cell.SetButtonPressed(1, false);
    EXPECT_EQ(0x4A000000u, cell.GetStyle());
    cell.SetButtonPressed(2, true);  // no up-down pair: nothing changes
    EXPECT_EQ(0x4A000000u, cell.GetStyle());

    cell.ModifyStyle(0x20000000);
    ASSERT_TRUE(cell.OnQueryButtonInfo(0, &en));
    EXPECT_FALSE(en);  // read-only cells have disabled buttons

    StepCell step;
    step.ModifyStyle(0x400000);
    ASSERT_TRUE(step.OnQueryButtonInfo(2, &en, &pr, &hold, &delay));
    EXPECT_TRUE(en);
    EXPECT_TRUE(hold);
    EXPECT_EQ(300u, delay);
    ASSERT_TRUE(step.OnQueryButtonInfo(3, &en, &pr, &hold, &delay));
    EXPECT_FALSE(en);  // already at the bottom
    EXPECT_EQ(300u, delay);
    step.SetButtonPressed(3, true);
    EXPECT_EQ(0x41400000u, step.GetStyle());
    step.SetButtonPressed(2, true);
    EXPECT_EQ(0x41C00000u, step.GetStyle());
}

TEST(GridCellParts, CheckStateRule) {
    struct { DWORD style; int state; DWORD result; } cases[] = {
        {0x40000000, 1, 0x40000000},                 // no check type
        {0x40010000, 1, 0x40090000},                 // check box checked
        {0x40090000, 0, 0x40010000},
        {0x40010000, 2, 0x400B0000},                 // mixed
        {0x400B0000, 0, 0x40010000},                 // mixed back to a plain box
        {0x400B0000, 1, 0x40090000},
        {0x40020000, 1, 0x400A0000},                 // radio
        {0x40020000, 2, 0x40020000},                 // a radio has no mixed state
        {0x40010000, 3, 0x40010000},
        {0x40010000, -1, 0x40010000},
        {0x60010000, 1, 0x60010000},                 // read-only
        {0x40010003, 1, 0x40090003},                 // other bits kept
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << std::hex << c.style << " state " << c.state);
        EXPECT_EQ(c.result, CExtGridCell::stat_CheckStyleForState(c.style, c.state));
    }
}
