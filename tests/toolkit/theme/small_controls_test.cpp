// Spin buttons, group boxes, date-picker pieces, report-column colours and the Office
// 2003 gradient background, in each theme.
#include <gtest/gtest.h>
#include "theme_test_support.h"
#include "support/dib_canvas.h"
#include "toolkit/theme/pm_small_controls.h"
#include "toolkit/core/bitmap.h"

using testsupport::DibCanvas;

namespace {

const COLORREF MARK = RGB(1, 2, 3);

class SmallControls : public ::testing::Test
{
protected:
    void TearDown() override { themetest::InstallTheme(RUNTIME_CLASS(CExtPaintManagerXP)); }
    CExtPaintManager* Use(CRuntimeClass* pClass) { return themetest::InstallTheme(pClass); }
};

// A report column as far as the theme knows: the query table names its class.
class FakeColumn : public CObject
{
    DECLARE_DYNAMIC(FakeColumn)
};
IMPLEMENT_DYNAMIC(FakeColumn, CObject)

}  // namespace

TEST_F(SmallControls, SpinNonClientMargins)
{
    CExtPaintManager* pPM = Use(RUNTIME_CLASS(CExtPaintManager));
    struct Case
    {
        bool bRight, bLeft, bExtra;
        RECT rcExpected;
    } cases[] = {
        {true, false, false, {0, 3, 3, 3}}, {true, false, true, {2, 3, 3, 3}},
        {false, true, false, {3, 3, 0, 3}}, {false, true, true, {3, 3, 2, 3}},
        {false, false, true, {0, 3, 0, 3}}, {true, true, true, {2, 3, 3, 3}},
    };
    for (const Case& c : cases)
    {
        RECT rc = {-1, -1, -1, -1};
        pPM->GetSpinNcSize(rc, c.bRight, c.bLeft, c.bExtra);
        EXPECT_TRUE(::EqualRect(&rc, &c.rcExpected))
            << c.bRight << c.bLeft << c.bExtra << ": " << rc.left << "," << rc.top << ","
            << rc.right << "," << rc.bottom;
    }
}

TEST_F(SmallControls, SpinButtonFramesByTheme)
{
    DibCanvas canvas(20, 20, MARK);
    CDC* pDC = CDC::FromHandle(canvas.Dc());
    const RECT rc = {2, 2, 18, 18};

    CExtPaintManager* pPM = Use(RUNTIME_CLASS(CExtPaintManager));
    pPM->DrawSpinButton(*pDC, rc, true, false, true, false, false, true, false, false, NULL);
    EXPECT_EQ(pPM->LookupColor(1007), canvas.Pixel(2, 10)) << "pushed: sunken";
    EXPECT_EQ(pPM->LookupColor(1005), canvas.Pixel(17, 10));
    canvas.Fill(MARK);
    pPM->DrawSpinButton(*pDC, rc, true, false, false, false, false, true, true, false, NULL);
    EXPECT_EQ(pPM->LookupColor(1004), canvas.Pixel(2, 10)) << "disabled is never pushed";
    canvas.Fill(MARK);
    pPM->DrawSpinButton(*pDC, rc, true, false, true, false, false, false, true, false, NULL);
    EXPECT_EQ(pPM->LookupColor(1006), canvas.Pixel(2, 10)) << "hovered: double frame";
    EXPECT_EQ(pPM->LookupColor(1008), canvas.Pixel(17, 10));
    EXPECT_EQ(pPM->LookupColor(1004), canvas.Pixel(3, 10));
    canvas.Fill(MARK);
    pPM->DrawSpinButton(*pDC, rc, true, false, true, true, false, false, false, false, NULL);
    EXPECT_EQ(MARK, canvas.Pixel(2, 10)) << "flat at rest: no frame";

    pPM = Use(RUNTIME_CLASS(CExtPaintManagerXP));
    canvas.Fill(MARK);
    pPM->DrawSpinButton(*pDC, rc, true, false, true, false, false, false, false, false, NULL);
    EXPECT_EQ(pPM->LookupColor(16), canvas.Pixel(2, 10));
    EXPECT_EQ(pPM->LookupColor(15), canvas.Pixel(4, 3));
    canvas.Fill(MARK);
    pPM->DrawSpinButton(*pDC, rc, true, false, true, false, false, true, true, false, NULL);
    EXPECT_EQ(pPM->LookupColor(2004), canvas.Pixel(2, 10));
    EXPECT_EQ(pPM->LookupColor(2003), canvas.Pixel(4, 3));

    pPM = Use(RUNTIME_CLASS(CExtPaintManagerOffice2003));
    canvas.Fill(MARK);
    pPM->DrawSpinButton(*pDC, rc, true, false, false, true, false, true, true, false, NULL);
    EXPECT_EQ(pPM->LookupColor(1000), canvas.Pixel(4, 3)) << "disabled flat: the solid face";
    EXPECT_EQ(pPM->LookupColor(1000), canvas.Pixel(2, 10)) << "and no frame";
    canvas.Fill(MARK);
    pPM->DrawSpinButton(*pDC, rc, true, false, true, false, false, false, true, false, NULL);
    EXPECT_EQ(pPM->LookupColor(2004), canvas.Pixel(2, 10));
}

TEST_F(SmallControls, MarlettArrowIsDrawnAndEmbossedWhenDisabled)
{
    DibCanvas canvas(8, 8, RGB(255, 255, 255));
    CDC* pDC = CDC::FromHandle(canvas.Dc());
    const RECT rc = {0, 0, 8, 8};
    CExtPaintManager* pPM = Use(RUNTIME_CLASS(CExtPaintManager));
    pPM->DrawMarlettGlyph(*pDC, rc, true, false, true, false, false, false, NULL);
    EXPECT_GT(canvas.Count(pPM->LookupColor(18), rc), 0) << "a small rectangle still shows the glyph";
    canvas.Fill(RGB(255, 255, 255));
    pPM->DrawMarlettGlyph(*pDC, rc, true, false, true, false, true, true, NULL);
    EXPECT_GT(canvas.Count(RGB(0, 0, 128), rc), 0);
    canvas.Fill(RGB(9, 9, 9));
    pPM->DrawMarlettGlyph(*pDC, rc, true, false, false, false, false, false, NULL);
    EXPECT_GT(canvas.Count(pPM->LookupColor(16), rc), 0);
    EXPECT_GT(canvas.Count(pPM->LookupColor(5), rc), 0);
}

TEST_F(SmallControls, GroupBoxDatePickerAndUndoCaption)
{
    DibCanvas canvas(30, 30, MARK);
    CDC* pDC = CDC::FromHandle(canvas.Dc());
    const RECT rc = {0, 0, 30, 30};
    CExtPaintManager* pPM = Use(RUNTIME_CLASS(CExtPaintManager));
    pPM->DrawGroupBoxFrame(*pDC, rc, NULL);
    EXPECT_EQ(pPM->LookupColor(16), canvas.Pixel(0, 10));
    EXPECT_EQ(pPM->LookupColor(5), canvas.Pixel(1, 10));
    EXPECT_EQ(pPM->LookupColor(5), canvas.Pixel(29, 10));
    EXPECT_EQ(pPM->LookupColor(16), canvas.Pixel(28, 10));

    canvas.Fill(MARK);
    pPM->DrawDatePickerBorder(*pDC, rc, NULL);
    EXPECT_EQ(pPM->LookupColor(15), canvas.Pixel(0, 10));
    EXPECT_EQ(pPM->LookupColor(21), canvas.Pixel(29, 10));
    EXPECT_EQ(pPM->LookupColor(20), canvas.Pixel(1, 10));
    EXPECT_EQ(pPM->LookupColor(15), canvas.Pixel(2, 10));
    EXPECT_EQ(pPM->LookupColor(16), canvas.Pixel(3, 10));
    EXPECT_EQ(pPM->LookupColor(20), canvas.Pixel(26, 10));
    EXPECT_EQ(MARK, canvas.Pixel(10, 10));

    canvas.Fill(MARK);
    const RECT rcInner = {5, 5, 25, 25};
    pPM->DrawDatePickerBackground(*pDC, rc, rcInner, NULL);
    EXPECT_EQ(pPM->LookupColor(1000), canvas.Pixel(2, 2));
    EXPECT_EQ(pPM->LookupColor(5), canvas.Pixel(10, 10));
    canvas.Fill(MARK);
    pPM->DrawDatePickerShadow(*pDC, rc, NULL);
    EXPECT_EQ(pPM->LookupColor(16), canvas.Pixel(10, 10));
    canvas.Fill(MARK);
    pPM->DrawDatePickerFrame(0, 0, *pDC, 0, 0, rc, rcInner, 0, 0, 0, NULL);
    EXPECT_EQ(pPM->LookupColor(20), canvas.Pixel(0, 10));
    EXPECT_EQ(pPM->LookupColor(1000), canvas.Pixel(10, 10));

    canvas.Fill(MARK);
    pPM->DrawUndoRedoCaption(*pDC, rc, _T(""), NULL);
    EXPECT_EQ(pPM->LookupColor(1000), canvas.Pixel(1, 1));
    EXPECT_EQ(pPM->LookupColor(16), canvas.Pixel(3, 10)) << "base: a sunken frame 3 pixels in";
    EXPECT_EQ(pPM->LookupColor(5), canvas.Pixel(26, 10));

    pPM = Use(RUNTIME_CLASS(CExtPaintManagerOffice2003));
    canvas.Fill(MARK);
    pPM->DrawDatePickerBorder(*pDC, rc, NULL);
    EXPECT_EQ(pPM->LookupColor(16), canvas.Pixel(0, 10));
    EXPECT_EQ(MARK, canvas.Pixel(1, 10));
    canvas.Fill(MARK);
    pPM->DrawDatePickerFrame(0, 0, *pDC, 0, 0, rc, rcInner, 0, 0, 0, NULL);
    EXPECT_EQ(MARK, canvas.Pixel(0, 10)) << "Office 2003: only the fill";
    canvas.Fill(MARK);
    pPM->DrawUndoRedoCaption(*pDC, rc, _T(""), NULL);
    EXPECT_EQ(pPM->LookupColor(2001), canvas.Pixel(3, 10));
}

TEST_F(SmallControls, ReportColumnColoursAndHeader)
{
    const CExtPmSmallControlQueries::Queries saved = CExtPmSmallControlQueries::g_queries;
    CExtPmSmallControlQueries::g_queries.pReportColumnClass = RUNTIME_CLASS(FakeColumn);
    FakeColumn column;
    CExtPaintManager other;
    for (CRuntimeClass* pClass : {RUNTIME_CLASS(CExtPaintManager), RUNTIME_CLASS(CExtPaintManagerXP),
                                  RUNTIME_CLASS(CExtPaintManagerOffice2003),
                                  RUNTIME_CLASS(CExtPaintManagerStudio2005)})
    {
        CExtPaintManager* pPM = Use(pClass);
        EXPECT_EQ(COLORREF(-1), pPM->GetReportColumnTextColor(&other, 0)) << pClass->m_lpszClassName;
        EXPECT_EQ(pPM->LookupColor(18), pPM->GetReportColumnTextColor(&column, 0)) << pClass->m_lpszClassName;
        EXPECT_EQ(pPM->LookupColor(14), pPM->GetReportColumnTextColor(&column, -1)) << pClass->m_lpszClassName;
        DibCanvas canvas(10, 10, MARK);
        CDC* pDC = CDC::FromHandle(canvas.Dc());
        EXPECT_FALSE(pPM->DrawReportHeader(*pDC, RECT{0, 0, 10, 10}, &column))
            << pClass->m_lpszClassName << ": no header image, the caller paints";
    }
    CExtPmSmallControlQueries::g_queries = saved;
}

TEST_F(SmallControls, GradientBackgroundIgnoresOneGivenColour)
{
    DibCanvas canvas(10, 40, MARK);
    CDC* pDC = CDC::FromHandle(canvas.Dc());
    const RECT rc = {0, 0, 10, 40};
    CExtPaintManager* pPM = Use(RUNTIME_CLASS(CExtPaintManagerOffice2003));
    pPM->DrawGradientBackground(*pDC, rc, false, NULL, 0, RGB(255, 0, 0), COLORREF(-1));
    EXPECT_EQ(0, canvas.Count(RGB(255, 0, 0), rc));
    EXPECT_EQ(0, canvas.Count(MARK, rc));
    canvas.Fill(MARK);
    pPM->DrawGradientBackground(*pDC, rc, false, NULL, 0, RGB(255, 0, 0), RGB(255, 0, 0));
    EXPECT_EQ(400, canvas.Count(RGB(255, 0, 0), rc));
    canvas.Fill(MARK);
    Use(RUNTIME_CLASS(CExtPaintManagerXP))->DrawGradientBackground(*pDC, rc, false, NULL, 0, 0, 0);
    EXPECT_EQ(400, canvas.Count(MARK, rc)) << "XP has no gradient background";
}

TEST_F(SmallControls, GroupBoxCaptionThroughVisualStyles)
{
    DibCanvas canvas(60, 20, RGB(255, 255, 255));
    CDC* pDC = CDC::FromHandle(canvas.Dc());
    const RECT rc = {0, 0, 60, 20};
    CExtPaintManager* pPM = Use(RUNTIME_CLASS(CExtPaintManager));
    // Without visual styles the caption is plain text in the caller's colour.
    pPM->DrawGroupBoxCaption(*pDC, _T("Group"), RGB(0, 0, 0), NULL, DT_SINGLELINE, true, rc, NULL);
    EXPECT_GT(canvas.Count(RGB(0, 0, 0), rc), 0);

    UxThemeLibrary& ux = g_CurrentPaintManager.m_UxTheme;
    const DWORD dwSavedComCtl = ux.m_dwComCtlVersion;
    {
        themetest::FakeUxTheme fake;
        ux.m_dwComCtlVersion = MAKELONG(0, 6);
        themetest::Fake().sLastDrawText.clear();
        pPM->DrawGroupBoxCaption(*pDC, _T("Group"), RGB(0, 0, 0), NULL, DT_SINGLELINE, false, rc, NULL);
        EXPECT_EQ(L"Group", themetest::Fake().sLastDrawText);
        EXPECT_EQ(-1, themetest::Fake().nLastDrawTextCount);
        ux.m_dwComCtlVersion = dwSavedComCtl;
    }
}

namespace {

CExtBitmap& HeaderImage()
{
    static CExtBitmap bmp;
    return bmp;
}

}  // namespace

TEST_F(SmallControls, Office2003ReportHeaderSkin)
{
    // A plain red header image stands in for the report grid's built-in one.
    HDC hScreen = ::GetDC(NULL);
    HBITMAP hBmp = ::CreateCompatibleBitmap(hScreen, 12, 12);
    HDC hMem = ::CreateCompatibleDC(hScreen);
    HGDIOBJ hOld = ::SelectObject(hMem, hBmp);
    RECT rcFill = {0, 0, 12, 12};
    HBRUSH hRed = ::CreateSolidBrush(RGB(255, 0, 0));
    ::FillRect(hMem, &rcFill, hRed);
    ::DeleteObject(hRed);
    ::SelectObject(hMem, hOld);
    ::DeleteDC(hMem);
    ::ReleaseDC(NULL, hScreen);
    ASSERT_TRUE(HeaderImage().AssignFromHBITMAP(hBmp));
    ::DeleteObject(hBmp);

    CExtPmSmallControlQueries::Queries saved = CExtPmSmallControlQueries::g_queries;
    CExtPmSmallControlQueries::g_queries.pfnReportHeaderBitmap = []() -> const CExtBitmap* { return &HeaderImage(); };
    CExtPmSmallControlQueries::g_queries.pfnReportColumnFlags = [](CObject*) { return (BYTE)0; };
    CExtPmSmallControlQueries::g_queries.pReportColumnClass = RUNTIME_CLASS(FakeColumn);
    DibCanvas canvas(40, 20, MARK);
    CDC* pDC = CDC::FromHandle(canvas.Dc());
    const RECT rc = {0, 0, 40, 20};
    FakeColumn column;
    CExtPaintManager* pPM = Use(RUNTIME_CLASS(CExtPaintManagerOffice2003));
    EXPECT_TRUE(pPM->DrawReportHeader(*pDC, rc, &column));
    EXPECT_EQ(RGB(255, 0, 0), canvas.Pixel(20, 10));
    EXPECT_EQ(RGB(255, 255, 255), canvas.Pixel(0, 2)) << "the light edge line from top + 2";
    EXPECT_EQ(RGB(255, 255, 255), canvas.Pixel(0, 15));
    EXPECT_EQ(RGB(255, 0, 0), canvas.Pixel(0, 16)) << "up to bottom - 4";
    EXPECT_EQ(RGB(172, 168, 153), canvas.Pixel(39, 10));
    CExtPmSmallControlQueries::g_queries.pfnReportColumnFlags = [](CObject*) { return (BYTE)0x02; };
    canvas.Fill(MARK);
    EXPECT_TRUE(pPM->DrawReportHeader(*pDC, rc, &column));
    EXPECT_EQ(RGB(255, 0, 0), canvas.Pixel(0, 10)) << "the owner's style bits suppress the lines";
    EXPECT_FALSE(Use(RUNTIME_CLASS(CExtPaintManagerXP))->DrawReportHeader(*pDC, rc, &column));
    CExtPmSmallControlQueries::g_queries = saved;
}
