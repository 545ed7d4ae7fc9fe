#include <gtest/gtest.h>
#include "framework/framework.h"
#include "toolkit/grid/grid_cell.h"
#include "support/dib_canvas.h"

using testsupport::DibCanvas;

// Visual styles are off on the test platform: the classic glyphs are drawn.
TEST(GridCellPaint, CheckGlyphSizeWithoutVisualStyles) {
    DibCanvas canvas(40, 40);
    EXPECT_EQ(CSize(0, 0), CExtGridCell::stat_GetCheckGlyphSize(NULL, canvas.Dc(), 0x40000000, 0));
    EXPECT_EQ(CSize(13, 13), CExtGridCell::stat_GetCheckGlyphSize(NULL, canvas.Dc(), 0x40010000, 0));
    EXPECT_EQ(CSize(13, 13), CExtGridCell::stat_GetCheckGlyphSize(NULL, canvas.Dc(), 0x40020000, 0));
}

// The check glyph drawn by the classic frame control, compared with the same call.
TEST(GridCellPaint, CheckRadioMatchesTheFrameControl) {
    struct { DWORD style, styleEx; UINT dfcs; } cases[] = {
        {0x40010000, 0, DFCS_BUTTONCHECK | DFCS_FLAT},
        {0x40090000, 0, DFCS_BUTTONCHECK | DFCS_FLAT | DFCS_CHECKED},
        {0x600B0000, 0, DFCS_BUTTON3STATE | DFCS_FLAT | DFCS_CHECKED | DFCS_INACTIVE},
        {0x40010000, 0x8, DFCS_BUTTON3STATE | DFCS_FLAT | DFCS_CHECKED},
        {0x400A0000, 0, DFCS_BUTTONRADIO | DFCS_FLAT | DFCS_CHECKED},
        {0x60020000, 0, DFCS_BUTTONRADIO | DFCS_FLAT | DFCS_INACTIVE},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << std::hex << c.style << " ex " << c.styleEx);
        DibCanvas mine(30, 30, RGB(1, 2, 3)), expected(30, 30, RGB(1, 2, 3));
        RECT part = {4, 5, 30, 30};
        CExtGridCell::stat_PaintCheckRadio(NULL, mine.Dc(), part, c.style, c.styleEx);
        RECT glyph = {4, 5, 17, 18};
        ::DrawFrameControl(expected.Dc(), &glyph, DFC_BUTTON, c.dfcs);
        int differences = 0;
        for (int y = 0; y < 30; y++)
            for (int x = 0; x < 30; x++)
                if (mine.Pixel(x, y) != expected.Pixel(x, y)) differences++;
        EXPECT_EQ(0, differences);
        // The glyph lies at the part's top-left and nowhere else.
        EXPECT_EQ(RGB(1, 2, 3), mine.Pixel(3, 5));
        EXPECT_EQ(RGB(1, 2, 3), mine.Pixel(17, 10));
        EXPECT_EQ(RGB(1, 2, 3), mine.Pixel(10, 18));
        EXPECT_NE(RGB(1, 2, 3), mine.Pixel(10, 11));
    }
    // Checked and unchecked differ; no check type paints nothing.
    DibCanvas a(20, 20), b(20, 20), none(20, 20, RGB(1, 2, 3));
    RECT part = {0, 0, 20, 20};
    CExtGridCell::stat_PaintCheckRadio(NULL, a.Dc(), part, 0x40010000, 0);
    CExtGridCell::stat_PaintCheckRadio(NULL, b.Dc(), part, 0x40090000, 0);
    RECT inner = {2, 2, 11, 11};
    EXPECT_LT(a.Count(RGB(0, 0, 0), inner), b.Count(RGB(0, 0, 0), inner));
    CExtGridCell::stat_PaintCheckRadio(NULL, none.Dc(), part, 0x40000000, 0);
    EXPECT_EQ(400, none.Count(RGB(1, 2, 3), part));
}

TEST(GridCellPaint, Background) {
    DibCanvas canvas(30, 20, RGB(1, 2, 3));
    RECT rc = {2, 3, 22, 13};
    EXPECT_FALSE(CExtGridCell::stat_PaintBackground(canvas.Dc(), rc, 0));
    EXPECT_EQ(RGB(1, 2, 3), canvas.Pixel(10, 8));
    RECT empty = {5, 5, 5, 9};
    EXPECT_TRUE(CExtGridCell::stat_PaintBackground(canvas.Dc(), empty, 0x200));
    EXPECT_EQ(RGB(1, 2, 3), canvas.Pixel(5, 6));
    EXPECT_TRUE(CExtGridCell::stat_PaintBackground(canvas.Dc(), rc, 0x200));
    EXPECT_EQ(::GetSysColor(COLOR_BTNFACE), canvas.Pixel(10, 8));
    EXPECT_EQ(::GetSysColor(COLOR_3DHIGHLIGHT), canvas.Pixel(2, 3));
    EXPECT_EQ(::GetSysColor(COLOR_3DHIGHLIGHT), canvas.Pixel(10, 3));
    EXPECT_EQ(::GetSysColor(COLOR_BTNSHADOW), canvas.Pixel(21, 12));
    EXPECT_EQ(::GetSysColor(COLOR_BTNSHADOW), canvas.Pixel(10, 12));
    EXPECT_EQ(RGB(1, 2, 3), canvas.Pixel(22, 8));
    EXPECT_EQ(RGB(1, 2, 3), canvas.Pixel(10, 13));
}
