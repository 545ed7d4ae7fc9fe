// Backgrounds: the parent-background request up the parent chain, control and window
// backgrounds, the Office 2003 gradients that continue across bars and dock bars, bar
// gaps and arrow buttons.
#include <gtest/gtest.h>
#include "bar_fakes.h"
#include "support/dib_canvas.h"

using namespace barfakes;
typedef barfakes::ToolBar FakeToolBar;
typedef barfakes::BarButton FakeBarButton;
typedef CFrameWnd FakeFrame;
using testsupport::DibCanvas;

namespace {

const COLORREF MARK = RGB(1, 2, 3), RED = RGB(255, 0, 0), GREEN = RGB(0, 255, 0);

class Backgrounds : public ::testing::Test
{
protected:
    void SetUp() override { themetest::InstallTheme(RUNTIME_CLASS(CExtPaintManagerXP)); }
    void TearDown() override { themetest::InstallTheme(RUNTIME_CLASS(CExtPaintManagerXP)); }
};

}  // namespace

TEST_F(Backgrounds, RequestIsOffByDefaultAndBaseFillsTheFace)
{
    CExtPaintManager* pPM = themetest::InstallTheme(RUNTIME_CLASS(CExtPaintManager));
    Scene scene;
    CWnd* pParent = scene.Top<CWnd>(0, 0, 60, 40);
    CWnd* pChild = scene.Child<CWnd>(pParent, 1, 5, 5, 20, 10);
    Scene::SetAnswer(pParent, __ANSWER_PAINT, RED);
    DibCanvas canvas(30, 20, MARK);
    CDC* pDC = CDC::FromHandle(canvas.Dc());
    EXPECT_FALSE(pPM->IsParentBackgroundOn());
    EXPECT_FALSE(pPM->AskParentForBackground(true, *pDC, pChild));
    EXPECT_EQ(0, Scene::AskedCount(pParent));
    EXPECT_EQ(0, Scene::AskedCount(pChild));
    EXPECT_TRUE(pPM->DrawWindowBackground(true, *pDC, pChild));
    const COLORREF clrFace = pPM->LookupColor(1000);
    EXPECT_EQ(clrFace, canvas.Pixel(0, 0));
    EXPECT_EQ(clrFace, canvas.Pixel(19, 9));
    EXPECT_EQ(MARK, canvas.Pixel(20, 9));  // the client rectangle only
    EXPECT_EQ(MARK, canvas.Pixel(0, 10));
}

TEST_F(Backgrounds, RequestWalksUpUntilSomeonePaints)
{
    CExtPaintManager* pPM = themetest::InstallTheme(RUNTIME_CLASS(CExtPaintManager));
    ParentBackgroundOn on;
    Scene scene;
    CWnd* pGrand = scene.Top<CWnd>(0, 0, 100, 100);
    CWnd* pParent = scene.Child<CWnd>(pGrand, 1, 10, 10, 80, 80);
    CWnd* pChild = scene.Child<CWnd>(pParent, 2, 5, 5, 20, 10);
    Scene::SetAnswer(pGrand, __ANSWER_PAINT, GREEN);
    DibCanvas canvas(30, 20, MARK);
    CDC* pDC = CDC::FromHandle(canvas.Dc());
    EXPECT_TRUE(pPM->AskParentForBackground(true, *pDC, pChild));
    EXPECT_EQ(1, Scene::AskedCount(pChild));
    EXPECT_EQ(1, Scene::AskedCount(pParent));
    EXPECT_EQ(1, Scene::AskedCount(pGrand));
    EXPECT_EQ(GREEN, canvas.Pixel(0, 0));
    EXPECT_EQ(GREEN, canvas.Pixel(19, 9));
    EXPECT_EQ(MARK, canvas.Pixel(20, 0));

    // The whole window rectangle when not limited to the client area; the base window
    // background then takes what the parent painted.
    canvas.Fill(MARK);
    EXPECT_TRUE(pPM->DrawWindowBackground(false, *pDC, pChild));
    EXPECT_EQ(GREEN, canvas.Pixel(19, 9));

    // A cancel on the way stops the walk even though a window further up would paint.
    Scene::SetAnswer(pParent, __ANSWER_CANCEL);
    canvas.Fill(MARK);
    EXPECT_FALSE(pPM->AskParentForBackground(true, *pDC, pChild));
    EXPECT_EQ(2, Scene::AskedCount(pGrand));
    EXPECT_EQ(MARK, canvas.Pixel(0, 0));

    // Nobody paints: the top-level window ends the walk.
    Scene::SetAnswer(pParent, __ANSWER_NONE);
    Scene::SetAnswer(pGrand, __ANSWER_NONE);
    EXPECT_FALSE(pPM->AskParentForBackground(true, *pDC, pChild));
    EXPECT_EQ(3, Scene::AskedCount(pGrand));
}

TEST_F(Backgrounds, RequestOfBarButtonsAndBadCallers)
{
    CExtPaintManager* pPM = themetest::InstallTheme(RUNTIME_CLASS(CExtPaintManager));
    ParentBackgroundOn on;
    Scene scene;
    FakeToolBar* pBar = scene.Top<FakeToolBar>(0, 0, 50, 20);
    Scene::SetAnswer(pBar, __ANSWER_PAINT, RED);
    DibCanvas canvas(60, 30, MARK);
    CDC* pDC = CDC::FromHandle(canvas.Dc());

    FakeBarButton button;
    EXPECT_FALSE(pPM->AskParentForBackground(true, *pDC, &button)) << "a button without a bar";
    button.m_pBar = pBar;
    EXPECT_TRUE(pPM->AskParentForBackground(true, *pDC, &button));
    EXPECT_EQ(RED, canvas.Pixel(49, 19));
    EXPECT_EQ(MARK, canvas.Pixel(50, 19));

    CWnd wndNoHandle;
    EXPECT_FALSE(pPM->AskParentForBackground(true, *pDC, &wndNoHandle));
    EXPECT_FALSE(pPM->AskParentForBackground(true, *pDC, NULL));
    CDC dcEmpty;
    EXPECT_FALSE(pPM->AskParentForBackground(true, dcEmpty, pBar));
}

TEST_F(Backgrounds, XpWindowBackgroundOnlyAsksTheParents)
{
    CExtPaintManager* pPM = g_CurrentPaintManager.GetPM();
    Scene scene;
    CWnd* pParent = scene.Top<CWnd>(0, 0, 60, 40);
    CWnd* pChild = scene.Child<CWnd>(pParent, 1, 0, 0, 20, 10);
    DibCanvas canvas(30, 20, MARK);
    CDC* pDC = CDC::FromHandle(canvas.Dc());
    EXPECT_FALSE(pPM->DrawWindowBackground(true, *pDC, pChild));
    EXPECT_EQ(MARK, canvas.Pixel(0, 0));
    ParentBackgroundOn on;
    Scene::SetAnswer(pParent, __ANSWER_PAINT, RED);
    EXPECT_TRUE(pPM->DrawWindowClientBackground(*pDC, pChild));
    EXPECT_EQ(RED, canvas.Pixel(0, 0));
}

TEST_F(Backgrounds, ControlBackgroundOfEachTheme)
{
    DibCanvas canvas(1000, 4, MARK);
    CDC* pDC = CDC::FromHandle(canvas.Dc());
    const RECT rcAll = {0, 0, 1000, 4};
    for (CRuntimeClass* pClass : {RUNTIME_CLASS(CExtPaintManager), RUNTIME_CLASS(CExtPaintManagerXP)})
    {
        CExtPaintManager* pPM = themetest::InstallTheme(pClass);
        canvas.Fill(MARK);
        EXPECT_TRUE(pPM->FillControlBackground(false, *pDC, rcAll, NULL));
        EXPECT_EQ(pPM->LookupColor(1000), canvas.Pixel(0, 0)) << pClass->m_lpszClassName;
        EXPECT_EQ(pPM->LookupColor(1000), canvas.Pixel(999, 3)) << pClass->m_lpszClassName;
    }
    for (CRuntimeClass* pClass :
         {RUNTIME_CLASS(CExtPaintManagerOffice2003), RUNTIME_CLASS(CExtPaintManagerStudio2005)})
    {
        CExtPaintManager* pPM = themetest::InstallTheme(pClass);
        const COLORREF clrA = pPM->LookupColor(3001), clrB = pPM->LookupColor(3000);
        canvas.Fill(MARK);
        EXPECT_TRUE(pPM->FillControlBackground(false, *pDC, rcAll, NULL));
        // 686 pixels of gradient from A at the left, then flat B.
        EXPECT_EQ(clrA, canvas.Pixel(0, 0)) << pClass->m_lpszClassName;
        EXPECT_EQ(clrB, canvas.Pixel(686, 0)) << pClass->m_lpszClassName;
        EXPECT_EQ(clrB, canvas.Pixel(999, 3)) << pClass->m_lpszClassName;
        // A narrow control is gradient all the way.
        canvas.Fill(MARK);
        const RECT rcNarrow = {0, 0, 100, 4};
        pPM->FillControlBackground(false, *pDC, rcNarrow, NULL);
        EXPECT_EQ(clrA, canvas.Pixel(0, 0)) << pClass->m_lpszClassName;
        EXPECT_NE(clrB, canvas.Pixel(50, 0)) << pClass->m_lpszClassName;
        EXPECT_EQ(MARK, canvas.Pixel(100, 0)) << pClass->m_lpszClassName;
    }
}

TEST_F(Backgrounds, OfficeGradientsContinueAcrossBarsAndDockBars)
{
    CExtPaintManager* pPM = themetest::InstallTheme(RUNTIME_CLASS(CExtPaintManagerOffice2003));
    ASSERT_FALSE(pPM->UsesLunaColors());
    Scene scene;
    FakeFrame* pFrame = scene.Top<FakeFrame>(0, 0, 400, 200);
    DockOuterBar* pDockTop = scene.Child<DockOuterBar>(pFrame, 0xE81B, 0, 0, 400, 30);
    FakeToolBar* pBar = scene.Child<FakeToolBar>(pDockTop, 0xE800, 100, 2, 120, 26);
    pBar->m_pDockSite = pFrame;
    pBar->m_pDockBar = pDockTop;

    // The reference: the frame's own control background.
    DibCanvas frame(400, 200, MARK);
    const RECT rcFrame = {0, 0, 400, 200};
    pPM->FillControlBackground(false, *CDC::FromHandle(frame.Dc()), rcFrame, NULL);

    DibCanvas dock(400, 30, MARK);
    const RECT rcDock = {0, 0, 400, 30};
    pPM->DrawDockBarBackground(*CDC::FromHandle(dock.Dc()), rcDock, pDockTop);
    for (int x : {0, 57, 250, 399})
        EXPECT_EQ(frame.Pixel(x, 10), dock.Pixel(x, 10)) << "dock bar at " << x;

    // The toolbar's corners (outside its rounded face) show the same gradient, shifted
    // by the toolbar's place in the frame.
    DibCanvas bar(120, 26, MARK);
    const RECT rcBar = {0, 0, 120, 26};
    pPM->DrawToolbarBackground(*CDC::FromHandle(bar.Dc()), rcBar, pBar);
    EXPECT_EQ(frame.Pixel(100 + 119, 2), bar.Pixel(119, 0));
    EXPECT_EQ(frame.Pixel(100 + 119, 2 + 25), bar.Pixel(119, 25));

    // A child of the docked toolbar continues the bar's own gradient: 3015 at the top.
    CWnd* pChild = scene.Child<CWnd>(pBar, 5, 10, 0, 40, 26);
    DibCanvas child(40, 26, MARK);
    EXPECT_TRUE(pPM->DrawWindowBackground(true, *CDC::FromHandle(child.Dc()), pChild));
    EXPECT_EQ(pPM->LookupColor(3015), child.Pixel(0, 0));
    EXPECT_EQ(pPM->LookupColor(3015), child.Pixel(39, 0));
    EXPECT_NE(pPM->LookupColor(3015), child.Pixel(0, 25));

    // In a floating toolbar the pair 3000 (top) to 3001 (bottom).
    pBar->m_bFloating = true;
    child.Fill(MARK);
    EXPECT_TRUE(pPM->DrawWindowBackground(true, *CDC::FromHandle(child.Dc()), pChild));
    EXPECT_EQ(pPM->LookupColor(3000), child.Pixel(0, 0));
}

TEST_F(Backgrounds, BarGapsAndArrowButtons)
{
    DibCanvas canvas(20, 20, MARK);
    CDC* pDC = CDC::FromHandle(canvas.Dc());
    const RECT rc = {0, 0, 20, 20};
    CExtPaintManager* pPM = themetest::InstallTheme(RUNTIME_CLASS(CExtPaintManager));
    pPM->FillBarGap(*pDC, rc, NULL);
    EXPECT_EQ(pPM->LookupColor(16), canvas.Pixel(10, 10));
    pPM = themetest::InstallTheme(RUNTIME_CLASS(CExtPaintManagerOffice2003));
    pPM->FillBarGap(*pDC, rc, NULL);
    EXPECT_EQ(pPM->LookupColor(1000), canvas.Pixel(10, 10));
    const RECT rcEmpty = {5, 5, 5, 9};
    canvas.Fill(MARK);
    pPM->FillBarGap(*pDC, rcEmpty, NULL);
    EXPECT_EQ(MARK, canvas.Pixel(5, 5));

    struct Case
    {
        bool bHover, bPushed;
        int nOuterTL, nOuterBR, nInnerTL, nInnerBR;
    } cases[] = {
        {false, false, 20, 16, 15, 15},
        {true, false, 15, 21, 20, 16},
        {true, true, 21, 20, 16, 15},
        {false, true, 21, 20, 16, 15},
    };
    for (const Case& c : cases)
    {
        canvas.Fill(MARK);
        pPM->DrawArrowButton(*pDC, true, rc, 1, c.bHover, c.bPushed, NULL);
        const char* sCase = c.bPushed ? "pushed" : (c.bHover ? "hover" : "normal");
        EXPECT_EQ(pPM->LookupColor(c.nOuterTL), canvas.Pixel(0, 0)) << sCase;
        EXPECT_EQ(pPM->LookupColor(c.nOuterBR), canvas.Pixel(19, 19)) << sCase;
        EXPECT_EQ(pPM->LookupColor(c.nInnerTL), canvas.Pixel(1, 1)) << sCase;
        EXPECT_EQ(pPM->LookupColor(c.nInnerBR), canvas.Pixel(18, 18)) << sCase;
        EXPECT_EQ(pPM->LookupColor(15), canvas.Pixel(3, 3)) << sCase;
        EXPECT_GT(canvas.Count(pPM->LookupColor(18), rc), 0) << sCase;
    }
}

TEST_F(Backgrounds, OfficeToolbarFaceIsRoundedWithAShadowLine)
{
    themetest::LunaScope luna(1, RUNTIME_CLASS(CExtPaintManagerOffice2003));
    CExtPaintManager* pPM = luna.PM();
    ASSERT_TRUE(pPM->UsesLunaColors());
    Scene scene;
    FakeFrame* pFrame = scene.Top<FakeFrame>(0, 0, 400, 200);
    DockOuterBar* pDockTop = scene.Child<DockOuterBar>(pFrame, 0xE81B, 0, 0, 400, 30);
    FakeToolBar* pBar = scene.Child<FakeToolBar>(pDockTop, 0xE800, 100, 2, 120, 26);
    pBar->m_pDockSite = pFrame;
    pBar->m_pDockBar = pDockTop;
    DibCanvas frame(400, 200, MARK);
    const RECT rcFrame = {0, 0, 400, 200};
    pPM->FillControlBackground(false, *CDC::FromHandle(frame.Dc()), rcFrame, NULL);

    DibCanvas bar(120, 26, MARK);
    const RECT rcBar = {0, 0, 120, 26};
    pPM->DrawToolbarBackground(*CDC::FromHandle(bar.Dc()), rcBar, pBar);
    // The shadow line 2 pixels inside the bottom edge, in the theme's toolbar border.
    const COLORREF clrShadow = pPM->LookupColor(3005);
    EXPECT_EQ(clrShadow, bar.Pixel(60, 24));
    EXPECT_NE(clrShadow, bar.Pixel(60, 23));
    EXPECT_NE(clrShadow, bar.Pixel(60, 25));
    // The far end is rounded: its corner shows the frame's gradient; the start is square.
    EXPECT_EQ(frame.Pixel(100 + 119, 2), bar.Pixel(119, 0));
    EXPECT_NE(frame.Pixel(100 + 60, 2 + 10), bar.Pixel(60, 10));
    EXPECT_NE(frame.Pixel(100, 2), bar.Pixel(0, 0)) << "the start of the bar stays square";
}
