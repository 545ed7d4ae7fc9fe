// Menu metrics and the parts of a popup menu besides its items: frames, separators,
// tear-off captions, scroll and expand buttons, the double frame.
#include <gtest/gtest.h>
#include "bar_fakes.h"
#include "support/dib_canvas.h"
#include "toolkit/theme/pm_glyphs.h"

using testsupport::DibCanvas;

namespace {

const COLORREF MARK = RGB(1, 2, 3);

class MenuParts : public ::testing::Test
{
protected:
    void TearDown() override { themetest::InstallTheme(RUNTIME_CLASS(CExtPaintManagerXP)); }
    CExtPaintManager* Use(CRuntimeClass* pClass) { return themetest::InstallTheme(pClass); }
};

int GlyphPixels(const CExtPaintManager::glyph& g)
{
    int n = 0;
    for (int y = 0; y < g.GetHeight(); y++)
        for (int x = 0; x < g.GetWidth(); x++)
            n += g.GetAt(x, y) != 0;
    return n;
}

}  // namespace

TEST_F(MenuParts, Metrics)
{
    const int nSystemCheck = ::GetSystemMetrics(SM_CYMENUCHECK);
    struct Case
    {
        CRuntimeClass* pClass;
        int nCheckHeight, nMargin, nBarDefault, nTabDefault;
    } cases[] = {
        {RUNTIME_CLASS(CExtPaintManager), nSystemCheck, 2, 0, 0},
        {RUNTIME_CLASS(CExtPaintManagerXP), nSystemCheck, 1, 0, 0},
        {RUNTIME_CLASS(CExtPaintManagerOffice2003), std::max(nSystemCheck, 18), 1, 0, 0},
        {RUNTIME_CLASS(CExtPaintManagerStudio2005), std::max(nSystemCheck, 18), 1, 1, 1},
    };
    for (const Case& c : cases)
    {
        CExtPaintManager* pPM = Use(c.pClass);
        const char* sCase = c.pClass->m_lpszClassName;
        EXPECT_EQ(c.nCheckHeight, pPM->GetMenuCheckHeight()) << sCase;
        EXPECT_EQ(8, pPM->GetMenuTearOffCaptionHeight()) << sCase;
        EXPECT_EQ(3, pPM->GetTipShadowSize()) << sCase;
        EXPECT_EQ(4, pPM->GetMenuShadowSize()) << sCase;
        RECT rc = {};
        pPM->GetMenuBorderMargins(rc, NULL);
        EXPECT_EQ(c.nMargin, rc.left) << sCase;
        EXPECT_EQ(c.nMargin, rc.bottom) << sCase;
        EXPECT_EQ(c.nBarDefault, pPM->QueryBarSettingDefault()) << sCase;
        EXPECT_EQ(c.nTabDefault, pPM->QueryTabSettingDefault()) << sCase;
        EXPECT_EQ(pPM->GetMenuTextHeight(false), pPM->GetMenuTextHeight(true)) << sCase;
        EXPECT_GT(pPM->GetMenuTextHeight(false), 2) << sCase;
    }
}

TEST_F(MenuParts, FramesAndDoubleFrames)
{
    DibCanvas canvas(40, 30, MARK);
    CDC* pDC = CDC::FromHandle(canvas.Dc());
    const RECT rc = {0, 0, 40, 30};
    CExtPaintManager* pPM = Use(RUNTIME_CLASS(CExtPaintManager));
    pPM->DrawMenuFrame(*pDC, rc, NULL);
    EXPECT_EQ(pPM->LookupColor(1000), canvas.Pixel(0, 0));
    EXPECT_EQ(pPM->LookupColor(1008), canvas.Pixel(39, 29));
    EXPECT_EQ(pPM->LookupColor(1004), canvas.Pixel(1, 1));
    EXPECT_EQ(pPM->LookupColor(1006), canvas.Pixel(38, 28));
    EXPECT_EQ(pPM->LookupColor(1000), canvas.Pixel(2, 2));
    EXPECT_EQ(pPM->LookupColor(1000), canvas.Pixel(3, 3));
    EXPECT_EQ(MARK, canvas.Pixel(4, 4));

    pPM = Use(RUNTIME_CLASS(CExtPaintManagerOffice2003));
    canvas.Fill(MARK);
    pPM->DrawMenuFrame(*pDC, rc, NULL);
    EXPECT_EQ(pPM->LookupColor(2007), canvas.Pixel(0, 0));
    EXPECT_EQ(pPM->LookupColor(2007), canvas.Pixel(39, 29));
    EXPECT_EQ(MARK, canvas.Pixel(1, 1));
    canvas.Fill(MARK);
    const RECT rcEmpty = {5, 5, 5, 20};
    pPM->DrawMenuFrame(*pDC, rcEmpty, NULL);
    pPM->DrawMenuSeparator(*pDC, rcEmpty, 20, false, NULL);
    EXPECT_EQ(0, canvas.Count(pPM->LookupColor(2007), rc));
    EXPECT_EQ(0, canvas.Count(pPM->LookupColor(2001), rc));

    pPM->DrawDoubleFrame(*pDC, rc);
    EXPECT_EQ(pPM->LookupColor(COLOR_BTNTEXT), canvas.Pixel(0, 0));
    EXPECT_EQ(pPM->LookupColor(COLOR_BTNTEXT), canvas.Pixel(1, 1));
    EXPECT_EQ(pPM->LookupColor(COLOR_BTNTEXT), canvas.Pixel(38, 28));
    EXPECT_EQ(MARK, canvas.Pixel(2, 2));
}

TEST_F(MenuParts, Separators)
{
    DibCanvas canvas(100, 10, MARK);
    CDC* pDC = CDC::FromHandle(canvas.Dc());
    const RECT rc = {0, 0, 100, 10};
    const int nInset = ::GetSystemMetrics(SM_CXSMICON) / 2;
    CExtPaintManager* pPM = Use(RUNTIME_CLASS(CExtPaintManager));
    pPM->DrawMenuSeparator(*pDC, rc, 24, false, NULL);
    EXPECT_EQ(pPM->LookupColor(1006), canvas.Pixel(50, 4));
    EXPECT_EQ(pPM->LookupColor(1004), canvas.Pixel(50, 5));
    EXPECT_EQ(pPM->LookupColor(1000), canvas.Pixel(50, 3));
    EXPECT_EQ(pPM->LookupColor(1000), canvas.Pixel(50, 6));
    EXPECT_EQ(pPM->LookupColor(1006), canvas.Pixel(nInset, 4));
    EXPECT_EQ(pPM->LookupColor(1000), canvas.Pixel(nInset - 1, 4));
    EXPECT_EQ(pPM->LookupColor(1000), canvas.Pixel(100 - nInset, 5));

    pPM = Use(RUNTIME_CLASS(CExtPaintManagerXP));
    canvas.Fill(MARK);
    pPM->DrawMenuSeparator(*pDC, rc, 24, false, NULL);
    EXPECT_EQ(pPM->LookupColor(1000), canvas.Pixel(0, 4));
    EXPECT_EQ(pPM->LookupColor(1000), canvas.Pixel(23, 4));
    EXPECT_EQ(pPM->LookupColor(2001), canvas.Pixel(26, 4));
    EXPECT_EQ(pPM->LookupColor(2002), canvas.Pixel(27, 4));
    EXPECT_EQ(pPM->LookupColor(2002), canvas.Pixel(99, 4));
    EXPECT_EQ(pPM->LookupColor(2001), canvas.Pixel(50, 5));
    EXPECT_EQ(pPM->LookupColor(2001), canvas.Pixel(50, 3));
    canvas.Fill(MARK);
    pPM->DrawMenuSeparator(*pDC, rc, 24, true, NULL);
    EXPECT_EQ(pPM->LookupColor(2005), canvas.Pixel(0, 4));
}

TEST_F(MenuParts, TearOffCaptions)
{
    DibCanvas canvas(60, 8, MARK);
    CDC* pDC = CDC::FromHandle(canvas.Dc());
    const RECT rc = {0, 0, 60, 8};
    CExtPaintManager* pPM = Use(RUNTIME_CLASS(CExtPaintManager));
    pPM->DrawMenuTearOffCaption(*pDC, rc, false, false, NULL);
    EXPECT_EQ(MARK, canvas.Pixel(0, 3));
    EXPECT_EQ(pPM->LookupColor(COLOR_HIGHLIGHT), canvas.Pixel(1, 0));
    EXPECT_EQ(MARK, canvas.Pixel(30, 7));

    pPM = Use(RUNTIME_CLASS(CExtPaintManagerXP));
    canvas.Fill(MARK);
    pPM->DrawMenuTearOffCaption(*pDC, rc, false, false, NULL);
    const COLORREF clrDark = pPM->LookupColor(2000), clrLine = pPM->LookupColor(COLOR_BTNSHADOW);
    EXPECT_EQ(clrDark, canvas.Pixel(12, 1));
    EXPECT_EQ(clrLine, canvas.Pixel(13, 1));
    EXPECT_EQ(clrLine, canvas.Pixel(45, 5));
    EXPECT_EQ(clrDark, canvas.Pixel(46, 1));
    EXPECT_EQ(clrDark, canvas.Pixel(13, 2));
    EXPECT_EQ(clrDark, canvas.Pixel(13, 0));
    EXPECT_EQ(MARK, canvas.Pixel(13, 7));
    canvas.Fill(MARK);
    pPM->DrawMenuTearOffCaption(*pDC, rc, true, false, NULL);
    EXPECT_EQ(pPM->LookupColor(2004), canvas.Pixel(0, 0));
    EXPECT_EQ(pPM->LookupColor(COLOR_BTNTEXT), canvas.Pixel(13, 2));

    // Office 2003, a narrow menu: 10 pixels of margin, dots every 4 pixels.
    pPM = Use(RUNTIME_CLASS(CExtPaintManagerOffice2003));
    canvas.Fill(MARK);
    pPM->DrawMenuTearOffCaption(*pDC, rc, false, false, NULL);
    const COLORREF clrDot = pPM->LookupColor(3003), clrShadow = pPM->LookupColor(3002);
    const COLORREF clrFill = pPM->LookupColor(2000);
    EXPECT_EQ(clrFill, canvas.Pixel(9, 2));
    for (int x = 10; x <= 42; x += 4)
    {
        EXPECT_EQ(clrDot, canvas.Pixel(x, 2)) << x;
        EXPECT_EQ(clrShadow, canvas.Pixel(x + 2, 4)) << x;
    }
    EXPECT_EQ(clrFill, canvas.Pixel(46, 2));
}

TEST_F(MenuParts, ScrollButtonsLookPushedWhileHovered)
{
    CExtPaintManager* pPM = Use(RUNTIME_CLASS(CExtPaintManagerXP));
    DibCanvas a(30, 16, MARK), b(30, 16, MARK), c(30, 16, MARK);
    const RECT rc = {0, 0, 30, 16};
    pPM->DrawMenuScrollButton(*CDC::FromHandle(a.Dc()), false, true, true, &rc, NULL);
    pPM->DrawMenuScrollButton(*CDC::FromHandle(b.Dc()), true, false, true, &rc, NULL);
    pPM->DrawMenuScrollButton(*CDC::FromHandle(c.Dc()), false, false, true, &rc, NULL);
    int nDiffAB = 0, nDiffAC = 0;
    for (int y = 0; y < 16; y++)
        for (int x = 0; x < 30; x++)
        {
            nDiffAB += a.Pixel(x, y) != b.Pixel(x, y);
            nDiffAC += a.Pixel(x, y) != c.Pixel(x, y);
        }
    EXPECT_EQ(0, nDiffAB);
    EXPECT_GT(nDiffAC, 0);
}

TEST_F(MenuParts, ExpandButtons)
{
    DibCanvas canvas(100, 20, MARK);
    CDC* pDC = CDC::FromHandle(canvas.Dc());
    const RECT rc = {0, 0, 100, 20};
    const RECT rcButton = {1, 0, 99, 20};
    const int nGlyph = GlyphPixels(g_glyphDoubleChevronDown);

    CExtPaintManager* pPM = Use(RUNTIME_CLASS(CExtPaintManager));
    pPM->DrawMenuExpandButton(*pDC, rc, true, false, NULL);
    EXPECT_EQ(MARK, canvas.Pixel(0, 10));
    EXPECT_EQ(pPM->LookupColor(1004), canvas.Pixel(1, 0));
    EXPECT_EQ(pPM->LookupColor(1006), canvas.Pixel(98, 19));
    EXPECT_EQ(nGlyph, canvas.Count(pPM->LookupColor(1010), rcButton));

    pPM = Use(RUNTIME_CLASS(CExtPaintManagerXP));
    canvas.Fill(MARK);
    pPM->DrawMenuExpandButton(*pDC, rc, false, false, NULL);
    EXPECT_EQ(pPM->LookupColor(2001), canvas.Pixel(0, 10)) << "the whole row is the entry's";
    EXPECT_EQ(nGlyph, canvas.Count(pPM->LookupColor(1010), rcButton));

    // Office 2003: a shaded knob behind the glyph.
    pPM = Use(RUNTIME_CLASS(CExtPaintManagerOffice2003));
    canvas.Fill(MARK);
    pPM->DrawMenuExpandButton(*pDC, rc, false, false, NULL);
    const COLORREF a = pPM->LookupColor(3034), b = pPM->LookupColor(3035);
    auto Mix = [&](int w) {
        return RGB(GetRValue(a) - (GetRValue(a) - GetRValue(b)) * w / 255,
                   GetGValue(a) - (GetGValue(a) - GetGValue(b)) * w / 255,
                   GetBValue(a) - (GetBValue(a) - GetBValue(b)) * w / 255);
    };
    // The knob is centred: 16 x 16 from (42, 2).
    EXPECT_EQ(Mix(234), canvas.Pixel(47, 2));
    EXPECT_EQ(Mix(180), canvas.Pixel(49, 2));
    EXPECT_EQ(pPM->LookupColor(2001), canvas.Pixel(46, 2)) << "weight 255 leaves the pixel";
    EXPECT_EQ(nGlyph, canvas.Count(pPM->LookupColor(1010), rcButton));
}
