// The shared tab item painter: item bodies on each side of the strip, the grouped frame,
// the separator, and where the text starts.
#include <gtest/gtest.h>
#include "theme_test_support.h"
#include "support/dib_canvas.h"
#include "toolkit/core/cmd_icon.h"

using testsupport::DibCanvas;

namespace {

const COLORREF BACK = RGB(1, 2, 3), LIGHT = RGB(250, 250, 250), DARK = RGB(20, 20, 20),
               FILL = RGB(200, 100, 50), SEP = RGB(0, 0, 255), TEXT = RGB(0, 0, 0);

void Paint(CDC& dc, const RECT& rcItem, bool bTopLeft, bool bHorz, bool bSelected, bool bGrouped,
           COLORREF clrBk, COLORREF clrLT, COLORREF clrRB, LPCTSTR sText = _T(""),
           CFont* pFont = NULL, bool bCentered = false)
{
    const RECT rcArea = {0, 0, 0, 0};
    CExtPaintManager::PaintTabItemShared(dc, rcArea, bTopLeft, bHorz, bSelected, true, bCentered,
                                         bGrouped, false, false, false, rcItem, 0, 0, pFont, sText,
                                         NULL, TEXT, clrBk, clrLT, clrRB, SEP);
}

}  // namespace

TEST(TabItemPainter, SelectedItemOnEachSideLeavesThePageSideOpen)
{
    DibCanvas canvas(80, 60, BACK);
    CDC* pDC = CDC::FromHandle(canvas.Dc());
    const RECT rc = {10, 5, 50, 25};

    Paint(*pDC, rc, true, true, true, false, FILL, LIGHT, DARK);  // top strip
    EXPECT_EQ(LIGHT, canvas.Pixel(9, 10));
    EXPECT_EQ(LIGHT, canvas.Pixel(9, 25)) << "the left line reaches one row below the item";
    EXPECT_EQ(LIGHT, canvas.Pixel(20, 5));
    EXPECT_EQ(DARK, canvas.Pixel(49, 10));
    EXPECT_EQ(DARK, canvas.Pixel(49, 24));
    EXPECT_EQ(BACK, canvas.Pixel(49, 25)) << "the dark line stops above the frame's bottom - 1";
    EXPECT_EQ(FILL, canvas.Pixel(20, 15));
    EXPECT_EQ(FILL, canvas.Pixel(20, 25)) << "the fill reaches the open side";
    EXPECT_EQ(BACK, canvas.Pixel(50, 10));

    canvas.Fill(BACK);
    Paint(*pDC, rc, false, true, true, false, FILL, LIGHT, DARK);  // bottom strip
    EXPECT_EQ(LIGHT, canvas.Pixel(9, 10));
    EXPECT_EQ(DARK, canvas.Pixel(20, 24));
    EXPECT_EQ(DARK, canvas.Pixel(49, 10));
    EXPECT_EQ(FILL, canvas.Pixel(20, 4)) << "the open side is the top";
    EXPECT_EQ(BACK, canvas.Pixel(20, 25));

    canvas.Fill(BACK);
    Paint(*pDC, rc, true, false, true, false, FILL, LIGHT, DARK);  // left strip
    EXPECT_EQ(LIGHT, canvas.Pixel(20, 4));
    EXPECT_EQ(LIGHT, canvas.Pixel(10, 15));
    EXPECT_EQ(DARK, canvas.Pixel(20, 24));
    EXPECT_EQ(FILL, canvas.Pixel(50, 15)) << "the open side is the right";

    canvas.Fill(BACK);
    Paint(*pDC, rc, false, false, true, false, FILL, LIGHT, DARK);  // right strip
    EXPECT_EQ(LIGHT, canvas.Pixel(20, 4));
    EXPECT_EQ(DARK, canvas.Pixel(49, 15));
    EXPECT_EQ(DARK, canvas.Pixel(20, 24));
    EXPECT_EQ(FILL, canvas.Pixel(9, 15)) << "the open side is the left";
}

TEST(TabItemPainter, MissingColoursDrawNoPart)
{
    DibCanvas canvas(80, 60, BACK);
    CDC* pDC = CDC::FromHandle(canvas.Dc());
    const RECT rc = {10, 5, 50, 25};
    Paint(*pDC, rc, true, true, true, false, COLORREF(-1), LIGHT, DARK);
    EXPECT_EQ(BACK, canvas.Pixel(20, 15)) << "no background colour: no fill";
    EXPECT_EQ(LIGHT, canvas.Pixel(9, 10));

    canvas.Fill(BACK);
    Paint(*pDC, rc, true, true, true, false, FILL, COLORREF(-1), DARK);
    EXPECT_EQ(BACK, canvas.Pixel(9, 10)) << "one border colour missing: no lines";
    EXPECT_EQ(BACK, canvas.Pixel(49, 10));
    EXPECT_EQ(FILL, canvas.Pixel(10, 6)) << "but the frame still shrinks and fills";
    EXPECT_EQ(BACK, canvas.Pixel(10, 5));
}

TEST(TabItemPainter, SeparatorAndGroupedFrame)
{
    DibCanvas canvas(80, 60, BACK);
    CDC* pDC = CDC::FromHandle(canvas.Dc());
    const RECT rc = {10, 5, 50, 25};
    Paint(*pDC, rc, true, true, false, false, FILL, LIGHT, DARK);
    EXPECT_EQ(SEP, canvas.Pixel(49, 7));
    EXPECT_EQ(SEP, canvas.Pixel(49, 22));
    EXPECT_EQ(BACK, canvas.Pixel(49, 6));
    EXPECT_EQ(BACK, canvas.Pixel(49, 23));
    EXPECT_EQ(BACK, canvas.Pixel(20, 15)) << "an unselected item is not filled";

    canvas.Fill(BACK);
    Paint(*pDC, rc, true, false, false, false, FILL, LIGHT, DARK);
    EXPECT_EQ(SEP, canvas.Pixel(12, 24));
    EXPECT_EQ(SEP, canvas.Pixel(47, 24));
    EXPECT_EQ(BACK, canvas.Pixel(11, 24));

    canvas.Fill(BACK);
    Paint(*pDC, rc, true, true, false, true, FILL, LIGHT, DARK);
    // Horizontal grouped frame: one column wider, two rows taller at each end.
    EXPECT_EQ(LIGHT, canvas.Pixel(10, 3));
    EXPECT_EQ(LIGHT, canvas.Pixel(10, 20));
    EXPECT_EQ(DARK, canvas.Pixel(50, 20));
    EXPECT_EQ(DARK, canvas.Pixel(30, 26));
    EXPECT_EQ(FILL, canvas.Pixel(30, 15));
    EXPECT_EQ(BACK, canvas.Pixel(30, 27));
}

TEST(TabItemPainter, TextWithoutIconStartsAtTheContentEdge)
{
    DibCanvas canvas(120, 40, RGB(255, 255, 255));
    CDC* pDC = CDC::FromHandle(canvas.Dc());
    CFont* pFont = CFont::FromHandle((HFONT)::GetStockObject(DEFAULT_GUI_FONT));
    const RECT rc = {10, 5, 110, 30};
    Paint(*pDC, rc, true, true, false, false, COLORREF(-1), LIGHT, DARK, _T("MMMM"), pFont);
    const RECT rcLeftOfContent = {0, 0, 12, 40};
    const RECT rcStart = {12, 7, 20, 28};
    EXPECT_EQ(0, canvas.Count(TEXT, rcLeftOfContent));
    EXPECT_GT(canvas.Count(TEXT, rcStart), 0) << "no 3-pixel icon gap before the text";

    canvas.Fill(RGB(255, 255, 255));
    Paint(*pDC, rc, true, true, false, false, COLORREF(-1), LIGHT, DARK, _T("MMMM"), pFont, true);
    EXPECT_EQ(0, canvas.Count(TEXT, rcStart)) << "centred text leaves the start free";
    EXPECT_GT(canvas.Count(TEXT, RECT{40, 7, 80, 28}), 0);
}

TEST(TabItemPainter, IconAloneWhenTheTextHasNoRoom)
{
    const COLORREF ICON = RGB(200, 30, 40);
    CExtCmdIcon icon;
    HICON hIcon = CExtPaintManager::CreateColorIcon(ICON);
    ASSERT_TRUE(hIcon != NULL);
    icon.AssignFromHICON(hIcon, false);
    ASSERT_FALSE(icon.IsEmpty());
    DibCanvas canvas(60, 40, RGB(255, 255, 255));
    CDC* pDC = CDC::FromHandle(canvas.Dc());
    CFont* pFont = CFont::FromHandle((HFONT)::GetStockObject(DEFAULT_GUI_FONT));
    const RECT rcArea = {0, 0, 0, 0};
    // Content 19 pixels wide: the icon (16) plus the 3-pixel gap leaves no text width.
    const RECT rcItem = {10, 5, 33, 35};
    CExtPaintManager::PaintTabItemShared(*pDC, rcArea, true, true, false, true, false, false, false,
                                         false, true, rcItem, 0, 0, pFont, _T("MMMM"), &icon, TEXT,
                                         COLORREF(-1), LIGHT, DARK, COLORREF(-1));
    const RECT rcAll = {0, 0, 60, 40};
    EXPECT_GT(canvas.Count(ICON, rcAll), 100) << "the icon is drawn";
    EXPECT_EQ(0, canvas.Count(TEXT, rcAll)) << "the text is not";

    // With room for text the icon comes first and the text after the gap.
    canvas.Fill(RGB(255, 255, 255));
    const RECT rcWide = {10, 5, 110, 35};
    DibCanvas wide(120, 40, RGB(255, 255, 255));
    CDC* pWideDC = CDC::FromHandle(wide.Dc());
    CExtPaintManager::PaintTabItemShared(*pWideDC, rcArea, true, true, false, true, false, false, false,
                                         false, true, rcWide, 0, 0, pFont, _T("MMMM"), &icon, TEXT,
                                         COLORREF(-1), LIGHT, DARK, COLORREF(-1));
    EXPECT_GT(wide.Count(ICON, RECT{0, 0, 40, 40}), 100);
    EXPECT_EQ(0, wide.Count(TEXT, RECT{0, 0, 12 + 16 + 3, 40})) << "no text before the icon's gap";
    EXPECT_GT(wide.Count(TEXT, RECT{31, 0, 120, 40}), 0);
}

TEST(TabItemPainter, VerticalTextIsSixPixelsWider)
{
    LOGFONT lf;
    ::memset(&lf, 0, sizeof(lf));
    ::GetObject(::GetStockObject(DEFAULT_GUI_FONT), sizeof(lf), &lf);
    lf.lfEscapement = lf.lfOrientation = 2700;
    CFont font;
    ASSERT_TRUE(font.CreateFontIndirect(&lf));
    DibCanvas canvas(60, 120, RGB(255, 255, 255));
    CDC* pDC = CDC::FromHandle(canvas.Dc());
    const RECT rcArea = {0, 0, 0, 0};
    const RECT rcItem = {20, 10, 40, 110};
    CSize sz(0, 0);
    {
        CFont* pOld = pDC->SelectObject(&font);
        sz = pDC->GetTextExtent(_T("MMMM"), 4);
        pDC->SelectObject(pOld);
    }
    CExtPaintManager::PaintTabItemShared(*pDC, rcArea, true, false, false, true, false, false, false,
                                         false, false, rcItem, sz.cx, sz.cy, &font, _T("MMMM"), NULL,
                                         TEXT, COLORREF(-1), LIGHT, DARK, COLORREF(-1));
    const RECT rcAll = {0, 0, 60, 120};
    EXPECT_GT(canvas.Count(TEXT, rcAll), 0);
    EXPECT_EQ(0, canvas.Count(TEXT, RECT{0, 0, 60, 12})) << "the text starts below the content top";
}
