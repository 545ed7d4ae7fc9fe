// Panel parts: fills, frames, splitters, gripper dots, caption backgrounds and the
// metrics of each theme.
#include <gtest/gtest.h>
#include "theme_test_support.h"
#include "support/dib_canvas.h"

using testsupport::DibCanvas;

namespace {

const COLORREF MARK = RGB(1, 2, 3);

class PanelParts : public ::testing::Test
{
protected:
    void TearDown() override { themetest::InstallTheme(RUNTIME_CLASS(CExtPaintManagerXP)); }
    CExtPaintManager* Use(CRuntimeClass* pClass) { return themetest::InstallTheme(pClass); }
};

}  // namespace

TEST_F(PanelParts, MetricsOfEachTheme)
{
    struct Case
    {
        CRuntimeClass* pClass;
        RECT rcMargins, rcTextMargins;
        int nCaptionHeight;
    } cases[] = {
        {RUNTIME_CLASS(CExtPaintManager), {12, 9, 12, 12}, {13, 0, 2, 0}, 25},
        {RUNTIME_CLASS(CExtPaintManagerXP), {12, 9, 12, 12}, {0, 0, 2, 0}, 18},
        {RUNTIME_CLASS(CExtPaintManagerOffice2003), {5, 9, 0, 7}, {10, 0, 2, 0}, 18},
        {RUNTIME_CLASS(CExtPaintManagerStudio2005), {5, 9, 0, 7}, {10, 0, 2, 0}, 18},
    };
    for (const Case& c : cases)
    {
        CExtPaintManager* pPM = Use(c.pClass);
        RECT rc = {-1, -1, -1, -1};
        pPM->GetPanelMargins(rc);
        EXPECT_TRUE(::EqualRect(&rc, &c.rcMargins)) << c.pClass->m_lpszClassName;
        pPM->GetPanelCaptionTextMargins(rc);
        EXPECT_TRUE(::EqualRect(&rc, &c.rcTextMargins)) << c.pClass->m_lpszClassName;
        EXPECT_EQ(c.nCaptionHeight, pPM->GetPanelCaptionHeight()) << c.pClass->m_lpszClassName;
        EXPECT_EQ(15, pPM->GetPanelSysColorIndex()) << c.pClass->m_lpszClassName;
        HFONT hFont = pPM->CreatePanelCaptionFont();
        ASSERT_TRUE(hFont != NULL) << c.pClass->m_lpszClassName;
        LOGFONT lf;
        ASSERT_NE(0, ::GetObject(hFont, sizeof(lf), &lf));
        EXPECT_EQ(FW_BOLD, lf.lfWeight) << c.pClass->m_lpszClassName;
        ::DeleteObject(hFont);
    }
}

TEST_F(PanelParts, FramesAndFills)
{
    DibCanvas canvas(40, 30, MARK);
    CDC* pDC = CDC::FromHandle(canvas.Dc());
    const RECT rc = {5, 5, 35, 25};

    CExtPaintManager* pPM = Use(RUNTIME_CLASS(CExtPaintManager));
    pPM->DrawPanelFrame(*pDC, rc);
    EXPECT_EQ(pPM->LookupColor(16), canvas.Pixel(5, 10));
    EXPECT_EQ(pPM->LookupColor(5), canvas.Pixel(34, 10));
    EXPECT_EQ(MARK, canvas.Pixel(10, 10));
    pPM->FillPanelBackground(*pDC, rc, NULL);
    EXPECT_EQ(pPM->LookupColor(5), canvas.Pixel(10, 10));

    pPM = Use(RUNTIME_CLASS(CExtPaintManagerXP));
    canvas.Fill(MARK);
    pPM->DrawPanelFrame(*pDC, rc);
    EXPECT_EQ(pPM->LookupColor(16), canvas.Pixel(34, 10)) << "XP: a flat frame";
    canvas.Fill(MARK);
    pPM->DrawPanelItemFrame(*pDC, rc, NULL);
    EXPECT_EQ(pPM->LookupColor(16), canvas.Pixel(34, 24));
    canvas.Fill(MARK);
    pPM->FillPanelSolid(*pDC, rc, NULL);
    EXPECT_EQ(pPM->LookupColor(1012), canvas.Pixel(20, 20));

    pPM = Use(RUNTIME_CLASS(CExtPaintManagerOffice2003));
    canvas.Fill(MARK);
    pPM->DrawPanelFrame(*pDC, rc);
    EXPECT_EQ(pPM->LookupColor(3027), canvas.Pixel(5, 10));
    EXPECT_EQ(pPM->LookupColor(3027), canvas.Pixel(34, 10));
}

TEST_F(PanelParts, InvisibleRectangleDrawsNothing)
{
    DibCanvas canvas(40, 30, MARK);
    CDC* pDC = CDC::FromHandle(canvas.Dc());
    pDC->IntersectClipRect(0, 0, 10, 10);
    const RECT rc = {15, 15, 35, 25};
    for (CRuntimeClass* pClass : {RUNTIME_CLASS(CExtPaintManager), RUNTIME_CLASS(CExtPaintManagerXP),
                                  RUNTIME_CLASS(CExtPaintManagerOffice2003)})
    {
        CExtPaintManager* pPM = Use(pClass);
        pPM->FillPanelBackground(*pDC, rc, NULL);
        pPM->DrawPanelFrame(*pDC, rc);
        pPM->DrawPanelButton(*pDC, rc, _T("x"), NULL, true, true, true, true, NULL);
        pPM->DrawPanelHeader(*pDC, rc, _T("x"));
        pPM->DrawPanelBar(*pDC, rc, _T("x"));
        pPM->DrawPanelSplitter(*pDC, rc, true);
        pPM->FillPanelGradient(*pDC, rc, NULL);
        pPM->DrawPanelCaption(*pDC, rc, _T("x"), true, false, false, false, 0, NULL);
        pDC->SelectClipRgn(NULL);
        EXPECT_EQ(40 * 30, canvas.Count(MARK, RECT{0, 0, 40, 30})) << pClass->m_lpszClassName;
        pDC->IntersectClipRect(0, 0, 10, 10);
    }
}

TEST_F(PanelParts, SplitterGripperDotsAndGradient)
{
    DibCanvas canvas(60, 12, MARK);
    CDC* pDC = CDC::FromHandle(canvas.Dc());
    const RECT rc = {0, 0, 60, 12};
    CExtPaintManager* pPM = Use(RUNTIME_CLASS(CExtPaintManagerXP));
    pPM->DrawPanelSplitter(*pDC, rc, true);
    // A 36-pixel row centred: dots at x = 12, 16, ... 44, y = 5, with their light shadow.
    const COLORREF clrDark = pPM->LookupColor(21), clrLight = pPM->LookupColor(5);
    for (int i = 0; i < 9; i++)
    {
        EXPECT_EQ(clrDark, canvas.Pixel(12 + 4 * i, 5)) << "dot " << i;
        EXPECT_EQ(clrDark, canvas.Pixel(13 + 4 * i, 6)) << "dot " << i;
        EXPECT_EQ(clrLight, canvas.Pixel(14 + 4 * i, 7)) << "dot " << i;
    }
    EXPECT_EQ(pPM->LookupColor(1000), canvas.Pixel(8, 5));
    EXPECT_EQ(pPM->LookupColor(16), canvas.Pixel(3, 11));

    // Office 2003: the gradient body, dots one row higher.
    pPM = Use(RUNTIME_CLASS(CExtPaintManagerOffice2003));
    canvas.Fill(MARK);
    pPM->DrawPanelSplitter(*pDC, rc, true);
    EXPECT_EQ(pPM->LookupColor(21), canvas.Pixel(12, 4));
    EXPECT_EQ(0, canvas.Count(MARK, rc));
}

TEST_F(PanelParts, CaptionBackgroundNotchesAndEqualColours)
{
    DibCanvas canvas(40, 20, MARK);
    CDC* pDC = CDC::FromHandle(canvas.Dc());
    const RECT rc = {0, 0, 40, 20};
    CExtPaintManager* pPM = Use(RUNTIME_CLASS(CExtPaintManagerOffice2003));
    pPM->DrawPanelCaptionBackground(*pDC, rc, 0, 0, false, true, true, false, NULL);
    EXPECT_EQ(MARK, canvas.Pixel(0, 0));
    EXPECT_EQ(MARK, canvas.Pixel(1, 0));
    EXPECT_EQ(MARK, canvas.Pixel(0, 1));
    EXPECT_NE(MARK, canvas.Pixel(1, 1));
    EXPECT_NE(MARK, canvas.Pixel(2, 0));
    EXPECT_EQ(MARK, canvas.Pixel(39, 0));
    EXPECT_EQ(MARK, canvas.Pixel(38, 0));
    EXPECT_EQ(MARK, canvas.Pixel(39, 1));
    EXPECT_EQ(pPM->LookupColor(1018), canvas.Pixel(0, 10)) << "the gradient runs left to right";
    EXPECT_EQ(pPM->LookupColor(1020), canvas.Pixel(39, 10));
    // The clip is restored afterwards.
    pDC->FillSolidRect(0, 0, 1, 1, RGB(9, 9, 9));
    EXPECT_EQ(RGB(9, 9, 9), canvas.Pixel(0, 0));

    // Both colours the same: a solid fill.
    pPM = Use(RUNTIME_CLASS(CExtPaintManager));
    canvas.Fill(MARK);
    pPM->DrawPanelCaptionBackground(*pDC, rc, 0, 0, true, false, false, false, NULL);
    if (pPM->LookupColor(1019) == pPM->LookupColor(1021))
    {
        EXPECT_EQ(40 * 20, canvas.Count(pPM->LookupColor(1019), rc));
    }
}

TEST_F(PanelParts, ButtonsByTheme)
{
    DibCanvas canvas(40, 30, MARK);
    CDC* pDC = CDC::FromHandle(canvas.Dc());
    const RECT rc = {5, 5, 35, 25};
    CExtPaintManager* pPM = Use(RUNTIME_CLASS(CExtPaintManager));
    pPM->DrawPanelButton(*pDC, rc, _T(""), NULL, true, false, false, true, NULL);
    EXPECT_EQ(pPM->LookupColor(16), canvas.Pixel(20, 10)) << "base: the shadow face";
    EXPECT_EQ(pPM->LookupColor(21), canvas.Pixel(20, 24)) << "and the line under it";

    pPM = Use(RUNTIME_CLASS(CExtPaintManagerXP));
    canvas.Fill(MARK);
    pPM->DrawPanelButton(*pDC, rc, _T(""), NULL, true, false, false, true, NULL);
    EXPECT_EQ(pPM->LookupColor(16), canvas.Pixel(5, 10)) << "XP: a flat frame";
    EXPECT_EQ(pPM->LookupColor(1000), canvas.Pixel(20, 15)) << "and the face at rest";

    pPM = Use(RUNTIME_CLASS(CExtPaintManagerOffice2003));
    canvas.Fill(MARK);
    pPM->DrawPanelButton(*pDC, rc, _T(""), NULL, true, false, false, true, NULL);
    EXPECT_EQ(pPM->LookupColor(3027), canvas.Pixel(5, 10));
    EXPECT_EQ(0, canvas.Count(MARK, rc));
}

TEST_F(PanelParts, HeaderAndBarBodies)
{
    DibCanvas canvas(40, 20, MARK);
    CDC* pDC = CDC::FromHandle(canvas.Dc());
    const RECT rc = {0, 0, 40, 20};
    CExtPaintManager* pPM = Use(RUNTIME_CLASS(CExtPaintManager));
    pPM->DrawPanelHeader(*pDC, rc, _T(""));
    EXPECT_EQ(pPM->LookupColor(16), canvas.Pixel(20, 10));
    pPM->DrawPanelBar(*pDC, rc, _T(""));
    EXPECT_EQ(pPM->LookupColor(15), canvas.Pixel(20, 10));
    EXPECT_EQ(pPM->LookupColor(16), canvas.Pixel(20, 19));
    pPM = Use(RUNTIME_CLASS(CExtPaintManagerOffice2003));
    pPM->DrawPanelBar(*pDC, rc, _T(""));
    EXPECT_EQ(pPM->LookupColor(3027), canvas.Pixel(20, 19));
    canvas.Fill(MARK);
    pPM->DrawPanelCaption(*pDC, rc, _T(""), false, false, false, false, 0, NULL);
    EXPECT_EQ(MARK, canvas.Pixel(0, 0)) << "Office 2003 notches the caption's left corner";
    EXPECT_NE(MARK, canvas.Pixel(39, 0));
    pPM = Use(RUNTIME_CLASS(CExtPaintManagerXP));
    canvas.Fill(MARK);
    pPM->DrawPanelCaption(*pDC, rc, _T(""), false, false, false, false, 0, NULL);
    EXPECT_EQ(pPM->LookupColor(16), canvas.Pixel(20, 19)) << "XP: flat with a bottom line";
    EXPECT_EQ(MARK, canvas.Pixel(20, 10));
}
