// Toolbar chevron buttons, menu borders, the toolbar border part, field boxes, text
// fields and the theme text offset.
#include <gtest/gtest.h>
#include "bar_fakes.h"
#include "support/dib_canvas.h"
#include "toolkit/core/cmd_icon.h"
#include "toolkit/theme/pm_glyphs.h"

using testsupport::DibCanvas;
typedef barfakes::ToolBar FakeToolBar;
typedef barfakes::ExpandButton FakeChevron;
typedef barfakes::PopupMenu FakeMenu;
typedef CExtPaintManager::glyph glyph;

namespace {

const COLORREF MARK = RGB(1, 2, 3), RED = RGB(250, 0, 0), BLUE = RGB(0, 0, 250);

class ToolbarParts : public ::testing::Test
{
protected:
    void TearDown() override { themetest::InstallTheme(RUNTIME_CLASS(CExtPaintManagerXP)); }
    CExtPaintManager* Use(CRuntimeClass* pClass) { return themetest::InstallTheme(pClass); }
    barfakes::Scene m_scene;
};

// Checks the set pixels of a glyph drawn at (x0, y0) in a colour.
int GlyphMatches(const DibCanvas& canvas, const glyph& g, int x0, int y0, COLORREF clr)
{
    int nMismatch = 0;
    for (int y = 0; y < g.GetHeight(); y++)
        for (int x = 0; x < g.GetWidth(); x++)
            if (g.GetAt(x, y) != 0 && canvas.Pixel(x0 + x, y0 + y) != clr)
                nMismatch++;
    return nMismatch;
}

int GlyphCount(const DibCanvas& canvas, const glyph& g, int x0, int y0, COLORREF clr)
{
    int n = 0;
    for (int y = 0; y < g.GetHeight(); y++)
        for (int x = 0; x < g.GetWidth(); x++)
            if (g.GetAt(x, y) != 0 && canvas.Pixel(x0 + x, y0 + y) == clr)
                n++;
    return n;
}

// A 16 x 16 icon of one opaque colour.
void MakeIcon(CExtCmdIcon& icon, COLORREF clr)
{
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bi.bmiHeader.biWidth = 16;
    bi.bmiHeader.biHeight = -16;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    void* pv = NULL;
    HBITMAP hbm = ::CreateDIBSection(NULL, &bi, DIB_RGB_COLORS, &pv, NULL, 0);
    ASSERT_TRUE(hbm != NULL && pv != NULL);
    DWORD* p = static_cast<DWORD*>(pv);
    for (int i = 0; i < 256; i++)
        p[i] = 0xFF000000 | (GetRValue(clr) << 16) | (GetGValue(clr) << 8) | GetBValue(clr);
    ::GdiFlush();
    icon.AssignFromHBITMAP(hbm);
    ::DeleteObject(hbm);
}

}  // namespace

TEST_F(ToolbarParts, ClassicChevronGlyphs)
{
    CExtPaintManager* pPM = Use(RUNTIME_CLASS(CExtPaintManager));
    DibCanvas canvas(20, 30, MARK);
    CDC* pDC = CDC::FromHandle(canvas.Dc());
    const RECT rc = {0, 0, 20, 30};
    const glyph& drop = g_glyphDropArrowDown;
    const glyph& chevron = g_glyphDoubleChevronRight;
    // Horizontal bar: the drop arrow 3 pixels above the bottom, the chevron 3 below the top.
    pPM->DrawChevronButton(*pDC, rc, true, false, true, false, false, NULL);
    const COLORREF clrText = pPM->LookupColor(1010);
    EXPECT_EQ(0, GlyphMatches(canvas, drop, 7, 24, clrText));
    EXPECT_EQ(0, GlyphMatches(canvas, chevron, 6, 3, clrText));

    // Nothing hidden: the drop arrow alone.
    canvas.Fill(MARK);
    pPM->DrawChevronButton(*pDC, rc, true, true, true, false, false, NULL);
    EXPECT_EQ(0, GlyphMatches(canvas, drop, 7, 24, clrText));
    EXPECT_EQ(0, GlyphCount(canvas, chevron, 6, 3, clrText));

    // Disabled: only the embossed drop arrow, never the chevron.
    canvas.Fill(MARK);
    pPM->DrawChevronButton(*pDC, rc, true, false, false, false, false, NULL);
    EXPECT_EQ(0, GlyphMatches(canvas, drop, 7, 24, pPM->LookupColor(COLOR_BTNSHADOW)));
    EXPECT_GT(GlyphCount(canvas, drop, 8, 25, pPM->LookupColor(COLOR_BTNHIGHLIGHT)), 0);
    EXPECT_EQ(0, GlyphCount(canvas, chevron, 6, 3, pPM->LookupColor(COLOR_BTNSHADOW)));
    EXPECT_EQ(0, GlyphCount(canvas, chevron, 6, 3, pPM->LookupColor(COLOR_BTNHIGHLIGHT)));

    // XP: a disabled drop arrow is flat.
    pPM = Use(RUNTIME_CLASS(CExtPaintManagerXP));
    canvas.Fill(MARK);
    pPM->DrawChevronButton(*pDC, rc, true, false, false, false, false, NULL);
    EXPECT_EQ(0, GlyphMatches(canvas, drop, 8, 24, pPM->LookupColor(COLOR_BTNSHADOW)));
    EXPECT_EQ(0, GlyphCount(canvas, drop, 9, 25, pPM->LookupColor(COLOR_BTNHIGHLIGHT)));
}

TEST_F(ToolbarParts, OfficeChevronContinuesTheBarEnd)
{
    CExtPaintManager* pPM = Use(RUNTIME_CLASS(CExtPaintManagerOffice2003));
    ASSERT_FALSE(pPM->UsesLunaColors());
    CWnd* pFrame = m_scene.Top<CWnd>(0, 0, 400, 100);
    CWnd* pDock = m_scene.Child<CWnd>(pFrame, 0xE81B, 0, 0, 400, 30);
    FakeToolBar* pBar = m_scene.Child<FakeToolBar>(pDock, 0xE800, 0, 0, 200, 26);
    pBar->m_pDockSite = pFrame;
    pBar->m_pDockBar = pDock;
    FakeChevron chevron;
    chevron.m_pBar = pBar;
    DibCanvas canvas(200, 26, MARK);
    CDC* pDC = CDC::FromHandle(canvas.Dc());
    const RECT rcButton = {180, 0, 194, 26};
    pPM->DrawChevronButton(*pDC, rcButton, true, false, true, false, false, &chevron);
    // The face: moved to the bar's end, from 5 pixels before the button to the edge.
    EXPECT_EQ(MARK, canvas.Pixel(180, 12));
    EXPECT_EQ(pPM->LookupColor(3004), canvas.Pixel(190, 0));
    EXPECT_EQ(pPM->LookupColor(3005), canvas.Pixel(190, 20));
    const COLORREF clrDark = pPM->LookupColor(3013), clrLight = pPM->LookupColor(3012);
    // F = (181, 0, 200, 25): the drop arrow at the bottom, the chevron at the top.
    EXPECT_EQ(0, GlyphMatches(canvas, g_glyphBarOverDown, 189, 15, clrDark));
    EXPECT_EQ(0, GlyphMatches(canvas, g_glyphTwoRightTriangles, 188, 4, clrDark));
    EXPECT_GT(GlyphCount(canvas, g_glyphBarOverDown, 190, 16, clrLight), 0);

    // Pushed looks the same whether hovered or not.
    DibCanvas pushed(200, 26, MARK), pushedHover(200, 26, MARK);
    pPM->DrawChevronButton(*CDC::FromHandle(pushed.Dc()), rcButton, true, false, true, true,
                           false, &chevron);
    pPM->DrawChevronButton(*CDC::FromHandle(pushedHover.Dc()), rcButton, true, false, true, true,
                           true, &chevron);
    int nDiff = 0;
    for (int y = 0; y < 26; y++)
        for (int x = 170; x < 200; x++)
            nDiff += pushed.Pixel(x, y) != pushedHover.Pixel(x, y);
    EXPECT_EQ(0, nDiff);
    EXPECT_NE(canvas.Pixel(190, 20), pushed.Pixel(190, 20));

    // A vertical bar: the chevron at the left, the drop arrow at the right.
    DibCanvas vert(26, 200, MARK);
    pBar->m_bVertical = true;
    ::MoveWindow(pBar->m_hWnd, 0, 0, 26, 200, FALSE);
    const RECT rcVert = {0, 180, 26, 194};
    pPM->DrawChevronButton(*CDC::FromHandle(vert.Dc()), rcVert, false, false, true, false, false,
                           &chevron);
    const RECT rcLeftHalf = {0, 170, 13, 200}, rcRightHalf = {13, 170, 26, 200};
    const int nLeft = vert.Count(clrDark, rcLeftHalf), nRight = vert.Count(clrDark, rcRightHalf);
    int nChevron = 0, nDrop = 0;
    for (int y = 0; y < 6; y++)
        for (int x = 0; x < 6; x++)
        {
            nChevron += g_glyphTwoDownTriangles.GetAt(x, y) != 0;
            nDrop += g_glyphBarOverDown270.GetAt(x, y) != 0;
        }
    EXPECT_EQ(nChevron, nLeft);
    EXPECT_EQ(nDrop, nRight);
}

TEST_F(ToolbarParts, MenuBorders)
{
    DibCanvas canvas(60, 40, MARK);
    CDC* pDC = CDC::FromHandle(canvas.Dc());
    const RECT rcOuter = {0, 0, 60, 40};
    const RECT rcInner = {3, 3, 57, 37};
    CExtPaintManager* pPM = Use(RUNTIME_CLASS(CExtPaintManager));
    pPM->DrawMenuBorder(*pDC, rcOuter, rcInner, 0, NULL);
    EXPECT_EQ(pPM->LookupColor(1000), canvas.Pixel(0, 0));
    EXPECT_EQ(pPM->LookupColor(1006), canvas.Pixel(59, 39));
    EXPECT_EQ(pPM->LookupColor(1004), canvas.Pixel(1, 1));
    EXPECT_EQ(pPM->LookupColor(1008), canvas.Pixel(58, 38));
    EXPECT_EQ(MARK, canvas.Pixel(30, 20));

    pPM = Use(RUNTIME_CLASS(CExtPaintManagerXP));
    canvas.Fill(MARK);
    pPM->DrawMenuBorder(*pDC, rcOuter, rcInner, 0, NULL);
    const COLORREF clrBorder = pPM->LookupColor(2007), clrFill = pPM->LookupColor(2000);
    EXPECT_EQ(clrBorder, canvas.Pixel(0, 0));
    EXPECT_EQ(clrBorder, canvas.Pixel(30, 39));
    EXPECT_EQ(clrFill, canvas.Pixel(1, 1));
    EXPECT_EQ(MARK, canvas.Pixel(30, 20));
    // Open at the top: the top line falls outside the window.
    canvas.Fill(MARK);
    pPM->DrawMenuBorder(*pDC, rcOuter, rcInner, 2, NULL);
    EXPECT_EQ(clrFill, canvas.Pixel(30, 0));
    EXPECT_EQ(clrBorder, canvas.Pixel(0, 10));
    EXPECT_EQ(clrBorder, canvas.Pixel(30, 39));

    // Office 2003 round a plain popup menu: 2001 inside the frame.
    pPM = Use(RUNTIME_CLASS(CExtPaintManagerOffice2003));
    FakeMenu* pMenu = m_scene.Top<FakeMenu>(0, 0, 60, 40);
    canvas.Fill(MARK);
    pPM->DrawMenuBorder(*pDC, rcOuter, rcInner, 0, pMenu);
    EXPECT_EQ(pPM->LookupColor(2007), canvas.Pixel(0, 0));
    EXPECT_EQ(pPM->LookupColor(2001), canvas.Pixel(1, 1));
    EXPECT_EQ(MARK, canvas.Pixel(30, 20));
}

TEST_F(ToolbarParts, ToolbarBorderPart)
{
    CExtPaintManager* pPM = Use(RUNTIME_CLASS(CExtPaintManagerXP));
    DibCanvas canvas(40, 50, MARK);
    CDC* pDC = CDC::FromHandle(canvas.Dc());
    const RECT rc = {10, 10, 20, 40};
    pPM->DrawToolbarBorderPart(*pDC, rc, true, true);
    const COLORREF clr = pPM->LookupColor(COLOR_BTNTEXT);
    EXPECT_EQ(clr, canvas.Pixel(8, 9));
    EXPECT_EQ(clr, canvas.Pixel(13, 9));
    EXPECT_EQ(MARK, canvas.Pixel(14, 9));
    EXPECT_EQ(MARK, canvas.Pixel(8, 10));
    EXPECT_EQ(clr, canvas.Pixel(9, 10));
    EXPECT_EQ(clr, canvas.Pixel(12, 11));
    EXPECT_EQ(MARK, canvas.Pixel(12, 12));
    EXPECT_EQ(clr, canvas.Pixel(11, 25));
    EXPECT_EQ(MARK, canvas.Pixel(12, 25));
    EXPECT_EQ(clr, canvas.Pixel(8, 40));
    EXPECT_EQ(clr, canvas.Pixel(12, 38));
    EXPECT_EQ(MARK, canvas.Pixel(8, 41));
}

TEST_F(ToolbarParts, FieldBoxes)
{
    CExtPaintManager* pPM = Use(RUNTIME_CLASS(CExtPaintManager));
    DibCanvas canvas(100, 40, MARK);
    CDC* pDC = CDC::FromHandle(canvas.Dc());
    CExtCmdIcon first, second;
    MakeIcon(first, RED);

    CExtPaintManager::PAINTFIELDBOXDATA d;
    ::SetRect(&d.m_rcItem, 0, 0, 100, 40);
    ::SetRect(&d.m_rcIcon, 4, 4, 20, 20);
    ::SetRect(&d.m_rcLabel, 30, 10, 90, 30);
    ::SetRect(&d.m_rcLabelBounds, 0, 0, 100, 40);
    d.m_pIconFirst = &first;
    d.m_pIconSecond = &second;
    d.m_sLabel = "Label";
    // Info box only: the frame round the label, no icon, no text.
    d.m_bInfoBoxOnly = true;
    d.m_bInfoColors = true;
    pPM->DrawFieldBox(*pDC, d);
    EXPECT_EQ(pPM->LookupColor(COLOR_3DDKSHADOW), canvas.Pixel(28, 8));
    EXPECT_EQ(pPM->LookupColor(COLOR_INFOBK), canvas.Pixel(29, 9));
    EXPECT_EQ(pPM->LookupColor(COLOR_INFOBK), canvas.Pixel(60, 20));
    EXPECT_EQ(MARK, canvas.Pixel(10, 10));
    canvas.Fill(MARK);
    d.m_bInfoColors = false;
    pPM->DrawFieldBox(*pDC, d);
    EXPECT_EQ(MARK, canvas.Pixel(28, 8));

    // The second icon is preferred, but an empty one gives way to the first.
    d.m_bInfoBoxOnly = false;
    d.m_bPressed = true;
    canvas.Fill(MARK);
    pPM->DrawFieldBox(*pDC, d);
    EXPECT_EQ(RED, canvas.Pixel(10, 10));
    EXPECT_EQ(pPM->LookupColor(COLOR_3DDKSHADOW), canvas.Pixel(2, 2)) << "sunken box";
    EXPECT_GT(canvas.Count(pPM->LookupColor(COLOR_BTNHIGHLIGHT), d.m_rcLabel), 5);

    // A horizontal label whose bounds lie left of it writes nothing.
    canvas.Fill(MARK);
    ::SetRect(&d.m_rcLabelBounds, 0, 0, 25, 40);
    pPM->DrawFieldBox(*pDC, d);
    EXPECT_EQ(0, canvas.Count(pPM->LookupColor(COLOR_BTNHIGHLIGHT), d.m_rcLabel));

    pPM = Use(RUNTIME_CLASS(CExtPaintManagerXP));
    canvas.Fill(MARK);
    d.m_bPressed = false;
    d.m_bHover = true;
    pPM->DrawFieldBox(*pDC, d);
    EXPECT_EQ(pPM->LookupColor(2004), canvas.Pixel(2, 2));
    EXPECT_EQ(pPM->LookupColor(1001), canvas.Pixel(3, 3));
}

TEST_F(ToolbarParts, TextFieldsAndTextOffset)
{
    CExtPaintManager* pPM = Use(RUNTIME_CLASS(CExtPaintManagerXP));
    DibCanvas canvas(100, 30, MARK);
    CDC* pDC = CDC::FromHandle(canvas.Dc());
    CExtPaintManager::PAINTTEXTFIELDDATA d;
    ::SetRect(&d.m_rcItem, 0, 0, 100, 30);
    ::SetRect(&d.m_rcField, 10, 5, 80, 25);
    d.m_sText = "Field";
    pPM->DrawTextField(*pDC, d);
    EXPECT_EQ(MARK, canvas.Pixel(9, 4)) << "an enabled field at rest has no frame";
    EXPECT_EQ(::GetSysColor(COLOR_WINDOW), canvas.Pixel(10, 5));
    EXPECT_GT(canvas.Count(::GetSysColor(COLOR_BTNTEXT), d.m_rcField), 5);

    canvas.Fill(MARK);
    d.m_bEnabled = false;
    pPM->DrawTextField(*pDC, d);
    EXPECT_EQ(pPM->LookupColor(2011), canvas.Pixel(9, 4));
    EXPECT_EQ(pPM->LookupColor(2011), canvas.Pixel(80, 26));
    EXPECT_GT(canvas.Count(::GetSysColor(COLOR_BTNSHADOW), d.m_rcField), 5);

    canvas.Fill(MARK);
    d.m_bEnabled = true;
    d.m_bHover = true;
    pPM->DrawTextField(*pDC, d);
    EXPECT_EQ(pPM->LookupColor(2004), canvas.Pixel(9, 4));

    POINT pt = {5, 5};
    pPM->GetTextOffset(pt, true);
    EXPECT_EQ(0, pt.y);
    pPM = Use(RUNTIME_CLASS(CExtPaintManagerOffice2003));
    pPM->GetTextOffset(pt, true);
    EXPECT_EQ(-1, pt.y);
    pPM->GetTextOffset(pt, false);
    EXPECT_EQ(0, pt.y);
    EXPECT_EQ(COLORREF(-1), Use(RUNTIME_CLASS(CExtPaintManager))->GetDisabledIconColor());
}
