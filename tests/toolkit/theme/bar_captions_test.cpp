// Bar grippers, captions and frames in each theme, and the bar geometry queries.
#include <gtest/gtest.h>
#include "bar_fakes.h"
#include "support/dib_canvas.h"

using testsupport::DibCanvas;
typedef barfakes::ToolBar FakeToolBar;
typedef barfakes::ControlBar FakeBar;
typedef barfakes::MenuBar FakeMenuBar;
typedef CExtPaintManager::PAINTBARCAPTIONDATA CaptionData;
typedef CExtPaintManager::PAINTBARFRAMEDATA FrameData;

namespace {

const COLORREF MARK = RGB(1, 2, 3);

class BarCaptions : public ::testing::Test
{
protected:
    void TearDown() override { themetest::InstallTheme(RUNTIME_CLASS(CExtPaintManagerXP)); }
    CExtPaintManager* Use(CRuntimeClass* pClass) { return themetest::InstallTheme(pClass); }
    barfakes::Scene m_scene;
};

CExtControlBar* AsBar(CObject* p) { return reinterpret_cast<CExtControlBar*>(p); }

}  // namespace

TEST_F(BarCaptions, GeometryQueries)
{
    FakeToolBar* pBar = m_scene.Top<FakeToolBar>(0, 0, 100, 30);
    CExtPaintManager* pPM = Use(RUNTIME_CLASS(CExtPaintManager));
    RECT rc = {10, 10, 50, 40};
    pPM->DeflateBarRect(AsBar(pBar), rc);
    EXPECT_EQ(12, rc.left);
    EXPECT_EQ(11, rc.top);
    pBar->m_bVertical = true;
    ::SetRect(&rc, 10, 10, 50, 40);
    pPM->DeflateBarRect(AsBar(pBar), rc);
    EXPECT_EQ(11, rc.left);
    EXPECT_EQ(12, rc.top);
    EXPECT_EQ(6, pPM->GetToolbarSpacing(AsBar(pBar)));
    FakeMenuBar menuBar;
    EXPECT_EQ(0, pPM->GetToolbarSpacing(AsBar(&menuBar)));

    pPM = Use(RUNTIME_CLASS(CExtPaintManagerXP));
    ::SetRect(&rc, 10, 10, 50, 40);
    pPM->DeflateBarRect(AsBar(pBar), rc);
    EXPECT_EQ(11, rc.left);
    EXPECT_EQ(11, rc.top);

    pPM = Use(RUNTIME_CLASS(CExtPaintManagerOffice2003));
    ::SetRect(&rc, 10, 10, 50, 40);
    pPM->DeflateBarRect(AsBar(pBar), rc);
    EXPECT_EQ(10, rc.left) << "full colour: no deflation";
    {
        themetest::ScreenDepthScope depth(8);
        pPM->DeflateBarRect(AsBar(pBar), rc);
        EXPECT_EQ(11, rc.left);
    }
    // Floating toolbars touch their frame edge; docked ones keep the spacing.
    EXPECT_EQ(6, pPM->GetToolbarSpacing(AsBar(pBar)));
    pBar->m_bFloating = true;
    EXPECT_EQ(0, pPM->GetToolbarSpacing(AsBar(pBar)));
    pBar->m_nOptionFlags = 0x02;
    EXPECT_EQ(6, pPM->GetToolbarSpacing(AsBar(pBar)));

    // The toolbar gradient is for floating bars in a dock bar only.
    CWnd* pFrame = m_scene.Top<CWnd>(0, 0, 300, 300);
    pBar->m_nOptionFlags = 0;
    pBar->m_pDockSite = pFrame;
    pBar->m_pDockBar = pFrame;
    EXPECT_TRUE(pPM->UsesToolbarGradient(AsBar(pBar)));
    pBar->m_dwOptionFlags2 = 0x04;
    EXPECT_FALSE(pPM->UsesToolbarGradient(AsBar(pBar)));
    pBar->m_nOptionFlags = 0x04;
    EXPECT_TRUE(pPM->UsesToolbarGradient(AsBar(pBar)));
    pBar->m_bFloating = false;
    EXPECT_FALSE(pPM->UsesToolbarGradient(AsBar(pBar)));
    EXPECT_FALSE(Use(RUNTIME_CLASS(CExtPaintManagerXP))->UsesToolbarGradient(AsBar(pBar)));
}

TEST_F(BarCaptions, ClassicGrippersAreTwoRaisedBars)
{
    CExtPaintManager* pPM = Use(RUNTIME_CLASS(CExtPaintManager));
    const COLORREF clrLight = pPM->LookupColor(1004), clrShadow = pPM->LookupColor(1006);
    DibCanvas canvas(20, 40, MARK);
    CDC* pDC = CDC::FromHandle(canvas.Dc());
    const RECT rcHorzBar = {0, 0, 20, 40};
    CaptionData horz(NULL, rcHorzBar, rcHorzBar, false, false, true, false, NULL);
    pPM->DrawBarCaption(*pDC, horz);
    // A horizontal bar's gripper: two 3-pixel columns with a 1-pixel gap, 4 pixels in.
    EXPECT_EQ(MARK, canvas.Pixel(3, 10));
    EXPECT_EQ(clrLight, canvas.Pixel(4, 10));
    EXPECT_EQ(clrShadow, canvas.Pixel(6, 10));
    EXPECT_EQ(MARK, canvas.Pixel(7, 10));
    EXPECT_EQ(clrLight, canvas.Pixel(8, 10));
    EXPECT_EQ(clrShadow, canvas.Pixel(10, 10));
    EXPECT_EQ(MARK, canvas.Pixel(11, 10));
    EXPECT_EQ(MARK, canvas.Pixel(5, 0));
    EXPECT_EQ(clrLight, canvas.Pixel(5, 1));
    EXPECT_EQ(clrShadow, canvas.Pixel(5, 39));

    canvas.Fill(MARK);
    const RECT rcVertBar = {0, 0, 40, 20};
    CaptionData vert(NULL, rcVertBar, rcVertBar, false, false, false, false, NULL);
    pPM->DrawBarCaption(*pDC, vert);
    EXPECT_EQ(MARK, canvas.Pixel(10, 3));
    EXPECT_EQ(clrLight, canvas.Pixel(10, 4));
    EXPECT_EQ(clrShadow, canvas.Pixel(10, 6));
    EXPECT_EQ(MARK, canvas.Pixel(10, 7));
    EXPECT_EQ(clrLight, canvas.Pixel(10, 8));
    EXPECT_EQ(MARK, canvas.Pixel(0, 5));
    EXPECT_EQ(clrLight, canvas.Pixel(1, 5));
}

TEST_F(BarCaptions, CaptionBackgroundsOfEachTheme)
{
    DibCanvas canvas(120, 20, MARK);
    CDC* pDC = CDC::FromHandle(canvas.Dc());
    const RECT rc = {0, 0, 100, 20};

    // Classic: the active caption gradient, 1 pixel in from a docked bar's edge; a null
    // text paints the background only.
    CExtPaintManager* pPM = Use(RUNTIME_CLASS(CExtPaintManager));
    CaptionData classic(NULL, rc, rc, true, false, false, true, NULL);
    pPM->DrawBarCaption(*pDC, classic);
    EXPECT_EQ(MARK, canvas.Pixel(0, 0));
    EXPECT_EQ(pPM->LookupColor(COLOR_ACTIVECAPTION), canvas.Pixel(1, 10));
    EXPECT_EQ(MARK, canvas.Pixel(99, 10));

    // XP: one colour; an inactive caption gets an open-cornered frame of the shadow.
    pPM = Use(RUNTIME_CLASS(CExtPaintManagerXP));
    canvas.Fill(MARK);
    CaptionData xpActive(NULL, rc, rc, true, false, false, true, "");
    pPM->DrawBarCaption(*pDC, xpActive);
    EXPECT_EQ(pPM->LookupColor(COLOR_HIGHLIGHT), canvas.Pixel(0, 0));
    EXPECT_EQ(pPM->LookupColor(COLOR_HIGHLIGHT), canvas.Pixel(99, 19));
    canvas.Fill(MARK);
    CaptionData xpInactive(NULL, rc, rc, false, false, false, true, "");
    pPM->DrawBarCaption(*pDC, xpInactive);
    EXPECT_EQ(pPM->LookupColor(2000), canvas.Pixel(0, 0));
    EXPECT_EQ(pPM->LookupColor(COLOR_BTNSHADOW), canvas.Pixel(1, 0));
    EXPECT_EQ(pPM->LookupColor(COLOR_BTNSHADOW), canvas.Pixel(0, 1));
    EXPECT_EQ(pPM->LookupColor(2000), canvas.Pixel(10, 10));
    canvas.Fill(MARK);
    CaptionData xpFloating(NULL, rc, rc, false, true, false, false, "");
    pPM->DrawBarCaption(*pDC, xpFloating);
    EXPECT_EQ(pPM->LookupColor(COLOR_BTNSHADOW), canvas.Pixel(10, 10));

    // Office 2003: a horizontal gradient from 3000 at the left.
    pPM = Use(RUNTIME_CLASS(CExtPaintManagerOffice2003));
    canvas.Fill(MARK);
    CaptionData office(NULL, rc, rc, false, false, false, true, "");
    pPM->DrawBarCaption(*pDC, office);
    EXPECT_EQ(pPM->LookupColor(3000), canvas.Pixel(0, 10));
    EXPECT_TRUE(office.IsBkPainted());

    // Studio 2005: the caption runs 4 pixels further right; active is the 4002-4001
    // gradient, inactive the flat 4000.
    pPM = Use(RUNTIME_CLASS(CExtPaintManagerStudio2005));
    canvas.Fill(MARK);
    CaptionData studio(NULL, rc, rc, false, false, false, true, "");
    pPM->DrawBarCaption(*pDC, studio);
    EXPECT_EQ(pPM->LookupColor(4000), canvas.Pixel(0, 0));
    EXPECT_EQ(pPM->LookupColor(4000), canvas.Pixel(103, 19));
    EXPECT_EQ(MARK, canvas.Pixel(104, 10));
    canvas.Fill(MARK);
    CaptionData studioActive(NULL, rc, rc, true, false, false, true, "Caption");
    pPM->DrawBarCaption(*pDC, studioActive);
    EXPECT_EQ(pPM->LookupColor(4002), canvas.Pixel(2, 19));
    EXPECT_EQ(pPM->LookupColor(4001), canvas.Pixel(2, 0));
}

TEST_F(BarCaptions, CaptionTextIsDrawnInTheCaptionColour)
{
    CExtPaintManager* pPM = Use(RUNTIME_CLASS(CExtPaintManagerXP));
    DibCanvas canvas(120, 20, MARK);
    CDC* pDC = CDC::FromHandle(canvas.Dc());
    const RECT rc = {0, 0, 120, 20};
    CaptionData data(NULL, rc, rc, true, false, false, true, "Wide caption text");
    pPM->DrawBarCaption(*pDC, data);
    EXPECT_GT(canvas.Count(pPM->LookupColor(COLOR_HIGHLIGHTTEXT), rc), 10);
    canvas.Fill(MARK);
    CaptionData inactive(NULL, rc, rc, false, false, false, true, "Wide caption text");
    pPM->DrawBarCaption(*pDC, inactive);
    EXPECT_GT(canvas.Count(pPM->LookupColor(COLOR_BTNTEXT), rc), 10);
}

TEST_F(BarCaptions, XpAndOfficeGrippers)
{
    FakeToolBar* pBar = m_scene.Top<FakeToolBar>(0, 0, 100, 30);
    DibCanvas canvas(12, 40, MARK);
    CDC* pDC = CDC::FromHandle(canvas.Dc());
    const RECT rc = {0, 0, 12, 40};
    const RECT rcStrip = {3, 5, 6, 35};

    CExtPaintManager* pPM = Use(RUNTIME_CLASS(CExtPaintManagerXP));
    CaptionData xp(pBar, rc, rc, false, false, true, false, NULL);
    pPM->DrawBarCaption(*pDC, xp);
    EXPECT_EQ(MARK, canvas.Pixel(0, 0));
    EXPECT_EQ(pPM->LookupColor(1000), canvas.Pixel(1, 1));
    EXPECT_EQ(pPM->LookupColor(1000), canvas.Pixel(8, 20));
    // The 3-pixel strip of lines: every second row.
    const COLORREF clrTop = canvas.Pixel(4, 10), clrNext = canvas.Pixel(4, 11);
    EXPECT_NE(clrTop, clrNext);
    EXPECT_EQ(clrTop, canvas.Pixel(4, 12));
    EXPECT_EQ(clrTop, canvas.Pixel(3, 10));
    EXPECT_EQ(clrTop, canvas.Pixel(5, 10));
    EXPECT_EQ(pPM->LookupColor(1000), canvas.Pixel(6, 10));
    EXPECT_GT(canvas.Count(clrTop, rcStrip), 40);

    // Office 2003: raised dots, 4 pixels apart, packed against the far end.
    pPM = Use(RUNTIME_CLASS(CExtPaintManagerOffice2003));
    canvas.Fill(MARK);
    FakeBar* pResizable = m_scene.Top<FakeBar>(0, 0, 100, 30);
    CaptionData office(pResizable, rc, rc, false, false, true, false, NULL);
    pPM->DrawBarCaption(*pDC, office);
    const COLORREF clrDot = pPM->LookupColor(3003), clrDotShadow = pPM->LookupColor(3002);
    for (int y : {6, 10, 14, 18, 22, 26, 30})
    {
        EXPECT_EQ(clrDot, canvas.Pixel(4, y)) << "dot at " << y;
        EXPECT_EQ(clrDot, canvas.Pixel(5, y + 1)) << "dot at " << y;
        EXPECT_EQ(clrDotShadow, canvas.Pixel(6, y + 2)) << "dot at " << y;
        EXPECT_EQ(MARK, canvas.Pixel(4, y + 3)) << "gap after " << y;
    }
    EXPECT_EQ(MARK, canvas.Pixel(4, 2));
    EXPECT_EQ(MARK, canvas.Pixel(4, 34));
}

TEST_F(BarCaptions, FramesOfEachTheme)
{
    DibCanvas canvas(40, 30, MARK);
    CDC* pDC = CDC::FromHandle(canvas.Dc());
    const RECT rcWnd = {0, 0, 40, 30};
    const RECT rcClient = {5, 5, 35, 25};

    CExtPaintManager* pPM = Use(RUNTIME_CLASS(CExtPaintManager));
    FrameData floating(NULL, rcWnd, rcClient, false, true, false, false);
    pPM->DrawBarFrame(*pDC, floating);
    EXPECT_EQ(pPM->LookupColor(1000), canvas.Pixel(0, 0));
    EXPECT_EQ(pPM->LookupColor(1008), canvas.Pixel(39, 29));
    EXPECT_EQ(pPM->LookupColor(1004), canvas.Pixel(1, 1));
    EXPECT_EQ(pPM->LookupColor(1006), canvas.Pixel(38, 28));
    EXPECT_EQ(pPM->LookupColor(1000), canvas.Pixel(3, 3));
    EXPECT_EQ(MARK, canvas.Pixel(20, 15)) << "the client area is left alone";
    canvas.Fill(MARK);
    FrameData dockedPlain(NULL, rcWnd, rcClient, false, false, true, false);
    pPM->DrawBarFrame(*pDC, dockedPlain);
    EXPECT_EQ(pPM->LookupColor(1000), canvas.Pixel(0, 0));
    EXPECT_EQ(pPM->LookupColor(1000), canvas.Pixel(39, 29));

    pPM = Use(RUNTIME_CLASS(CExtPaintManagerXP));
    canvas.Fill(MARK);
    pPM->DrawBarFrame(*pDC, floating);
    const COLORREF clr16 = pPM->LookupColor(COLOR_BTNSHADOW);
    EXPECT_EQ(clr16, canvas.Pixel(0, 0));
    EXPECT_EQ(clr16, canvas.Pixel(1, 1));
    EXPECT_EQ(clr16, canvas.Pixel(2, 2));
    EXPECT_EQ(clr16, canvas.Pixel(37, 27));
    EXPECT_EQ(pPM->LookupColor(2009), canvas.Pixel(3, 2));
    EXPECT_EQ(MARK, canvas.Pixel(20, 15));
    canvas.Fill(MARK);
    FrameData docked(NULL, rcWnd, rcClient, false, false, false, false);
    pPM->DrawBarFrame(*pDC, docked);
    EXPECT_EQ(pPM->LookupColor(COLOR_BTNFACE), canvas.Pixel(0, 0));
    EXPECT_EQ(pPM->LookupColor(1000), canvas.Pixel(2, 2));

    // Office 2003: a docked bar lets the bar gradient show through.
    FakeBar* pBar = m_scene.Top<FakeBar>(0, 0, 100, 30);
    pPM = Use(RUNTIME_CLASS(CExtPaintManagerOffice2003));
    canvas.Fill(MARK);
    FrameData officeDocked(pBar, rcWnd, rcClient, false, false, false, false);
    pPM->DrawBarFrame(*pDC, officeDocked);
    EXPECT_EQ(MARK, canvas.Pixel(0, 0));

    // Studio 2005: a floating resizable bar gets the classic frame in its own colours.
    pPM = Use(RUNTIME_CLASS(CExtPaintManagerStudio2005));
    canvas.Fill(MARK);
    FrameData studio(pBar, rcWnd, rcClient, false, true, true, false);
    pPM->DrawBarFrame(*pDC, studio);
    EXPECT_EQ(pPM->LookupColor(1000), canvas.Pixel(0, 0));
    EXPECT_EQ(pPM->LookupColor(COLOR_3DDKSHADOW), canvas.Pixel(39, 29));
    EXPECT_EQ(pPM->LookupColor(COLOR_WINDOW), canvas.Pixel(1, 1));
    EXPECT_EQ(pPM->LookupColor(COLOR_BTNSHADOW), canvas.Pixel(38, 28));

    canvas.Fill(MARK);
    const RECT rcEmpty = {0, 0, 0, 0};
    FrameData empty(NULL, rcEmpty, rcEmpty, false, true, false, false);
    pPM->DrawBarFrame(*pDC, empty);
    EXPECT_EQ(MARK, canvas.Pixel(0, 0));
}

TEST_F(BarCaptions, MiniFrameCaptionAndThemedFrameQueries)
{
    for (CRuntimeClass* pClass :
         {RUNTIME_CLASS(CExtPaintManager), RUNTIME_CLASS(CExtPaintManagerXP),
          RUNTIME_CLASS(CExtPaintManagerOffice2003), RUNTIME_CLASS(CExtPaintManagerStudio2005)})
    {
        CExtPaintManager* pPM = Use(pClass);
        const char* sCase = pClass->m_lpszClassName;
        RECT rc = {1, 2, 3, 4};
        EXPECT_FALSE(pPM->GetMiniFrameCaptionRect(rc, NULL)) << sCase;
        CWnd* pWnd = m_scene.Top<CWnd>(50, 60, 200, 100);
        ASSERT_TRUE(pPM->GetMiniFrameCaptionRect(rc, pWnd)) << sCase;
        EXPECT_EQ(::GetSystemMetrics(SM_CXFRAME), rc.left) << sCase;
        EXPECT_EQ(200 - ::GetSystemMetrics(SM_CXFRAME), rc.right) << sCase;
        EXPECT_EQ(::GetSystemMetrics(SM_CYFRAME), rc.top) << sCase;
        EXPECT_EQ(rc.top + ::GetSystemMetrics(SM_CYSMSIZE), rc.bottom) << sCase;
        EXPECT_FALSE(pPM->IsThemedFrameSupported(pWnd)) << sCase;
        RECT rcBorders = {1, 1, 1, 1}, rcCaption = {1, 1, 1, 1};
        pPM->GetThemedFrameBorders(rcBorders, rcCaption, pWnd);
        EXPECT_TRUE(::IsRectEmpty(&rcBorders)) << sCase;
        EXPECT_TRUE(::IsRectEmpty(&rcCaption)) << sCase;
    }
}
