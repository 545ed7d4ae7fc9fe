// Dock markers: the look per style, layout of outer markers and of the cross, frames of
// stand-alone markers, marker windows, recolouring, hover frames and the highlight.
#include <gtest/gtest.h>
#include "theme_test_support.h"
#include "support/dib_canvas.h"
#include "toolkit/theme/pm_dock_markers.h"

#include <typeinfo>
#include <vector>

using testsupport::DibCanvas;
typedef CExtPaintManager::DockMarkerBase Marker;
typedef CExtPaintManager::DockMarkerBeta2 MarkerBeta2;

namespace {

// A stand-in marker window with the state the theme reads through the marker state query.
class FakeMarkerWnd : public CWnd
{
    DECLARE_DYNAMIC(FakeMarkerWnd)
public:
    int m_nKind = 0;
    bool m_bStandAlone = false;
    HWND m_hWndLinked = NULL;
};
IMPLEMENT_DYNAMIC(FakeMarkerWnd, CWnd)

struct Made
{
    int nKind;
    RECT rc;
    bool bStandAlone;
    CSize szFrame;
};
std::vector<Made> g_made;
std::vector<CWnd*> g_windows;

CWnd* FakeCreate(CWnd*, int nKind, const CExtBitmap&, const CExtBitmap&, HRGN hRgn, const RECT& rc,
                 const CExtBitmap& bmpFrame, int, int, bool bStandAlone)
{
    if (hRgn != NULL)
        ::DeleteObject(hRgn);
    g_made.push_back(Made{nKind, rc, bStandAlone, bmpFrame.GetSize()});
    CWnd* pWnd = new CWnd;
    pWnd->CreateEx(0, _T("Static"), _T(""), WS_POPUP, rc, NULL, 0);
    g_windows.push_back(pWnd);
    return pWnd;
}

void FakeShow(CPtrArray& arr, bool) { arr.RemoveAll(); }

bool FakeState(CObject* pObj, int& nKind, bool& bStandAlone, HWND& hWndLinked)
{
    // As the docking library's query: false for anything but a marker window.
    FakeMarkerWnd* p = DYNAMIC_DOWNCAST(FakeMarkerWnd, pObj);
    if (p == NULL)
        return false;
    nKind = p->m_nKind;
    bStandAlone = p->m_bStandAlone;
    hWndLinked = p->m_hWndLinked;
    return true;
}

class DockMarkers : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_pPM = themetest::InstallTheme(RUNTIME_CLASS(CExtPaintManagerXP));
        m_saved = CExtPmDockMarkerHooks::g_hooks;
        CExtPmDockMarkerHooks::g_hooks.pfnCreateMarkerWnd = &FakeCreate;
        CExtPmDockMarkerHooks::g_hooks.pfnShowMarkers = &FakeShow;
        CExtPmDockMarkerHooks::g_hooks.pfnMarkerState = &FakeState;
        g_made.clear();
    }
    void TearDown() override
    {
        for (CWnd* p : g_windows)
        {
            p->DestroyWindow();
            delete p;
        }
        g_windows.clear();
        CExtPmDockMarkerHooks::g_hooks = m_saved;
        themetest::InstallTheme(RUNTIME_CLASS(CExtPaintManagerXP));
    }
    CExtPaintManager* m_pPM = NULL;
    CExtPmDockMarkerHooks::Hooks m_saved;
};

bool Same(const RECT& a, int l, int t, int r, int b)
{
    return a.left == l && a.top == t && a.right == r && a.bottom == b;
}

}  // namespace

TEST_F(DockMarkers, LookFollowsTheStyle)
{
    EXPECT_EQ(3, m_pPM->m_nDockMarkerStyle);
    m_pPM->m_nDockMarkerStyle = 1;
    Marker* p = m_pPM->GetDockMarker();
    ASSERT_TRUE(p != NULL);
    EXPECT_TRUE(typeid(*p) == typeid(Marker));
    EXPECT_TRUE(p->IsEmpty());
    delete p;
    for (int nStyle : {2, 3})
    {
        m_pPM->m_nDockMarkerStyle = nStyle;
        p = m_pPM->GetDockMarker();
        EXPECT_TRUE(typeid(*p) == typeid(MarkerBeta2)) << nStyle;
        delete p;
        RECT rc = {-1, -1, -1, -1};
        m_pPM->GetDockMarkerMargins(rc);
        EXPECT_TRUE(Same(rc, 5, 5, 5, 5)) << nStyle;
    }
    m_pPM->m_nDockMarkerStyle = 4;
    bool bThrown = false;
    try
    {
        delete m_pPM->GetDockMarker();
    }
    catch (CNotSupportedException* e)
    {
        bThrown = true;
        e->Delete();
    }
    EXPECT_TRUE(bThrown);
    m_pPM->m_nDockMarkerStyle = 1;
    RECT rc = {-1, -1, -1, -1};
    m_pPM->GetDockMarkerMargins(rc);
    EXPECT_TRUE(Same(rc, 0, 0, 0, 0));
    m_pPM->m_nDockMarkerStyle = 3;
}

TEST_F(DockMarkers, OuterMarkersSitAtTheEdges)
{
    const RECT rc = {0, 0, 200, 100};
    Marker m(-1, NULL);
    ASSERT_TRUE(m.Create(true, 0, rc));
    EXPECT_TRUE(Same(m.m_rcMarker, 88, 0, 112, 24));
    ASSERT_TRUE(m.Create(true, 1, rc));
    EXPECT_TRUE(Same(m.m_rcMarker, 88, 76, 112, 100));
    ASSERT_TRUE(m.Create(true, 2, rc));
    EXPECT_TRUE(Same(m.m_rcMarker, 0, 38, 24, 62));
    ASSERT_TRUE(m.Create(true, 3, rc));
    EXPECT_TRUE(Same(m.m_rcMarker, 176, 38, 200, 62));
    ASSERT_TRUE(m.Create(true, 4, rc));
    EXPECT_TRUE(Same(m.m_rcMarker, 56, 6, 144, 94));
    EXPECT_FALSE(m.Create(true, 9, rc));
    EXPECT_TRUE(m.Create(true, -1, rc));
    EXPECT_TRUE(m.IsEmpty());
}

TEST_F(DockMarkers, CrossUsesTheCurrentLookForItsChildren)
{
    const RECT rc = {0, 0, 200, 100};
    Marker m(-1, NULL);
    ASSERT_TRUE(m.Create(false, 6, rc));
    EXPECT_EQ(6, m.m_nKind);
    EXPECT_TRUE(m.m_bmpFirst.IsEmpty()) << "the root of a cross has no image";
    ASSERT_EQ(5, m.m_arrChildren.GetSize());
    EXPECT_EQ(4, m.m_arrChildren[0]->m_nKind) << "the centre comes first";
    for (int i = 0; i < 5; i++)
        EXPECT_TRUE(typeid(*m.m_arrChildren[i]) == typeid(MarkerBeta2)) << i;
    EXPECT_TRUE(Same(m.m_arrChildren[0]->m_rcMarker, 56, 6, 144, 94));
    // Laid out round a 100 x 100 box centred in the rectangle, then moved toward the centre.
    EXPECT_TRUE(Same(m.m_arrChildren[1]->m_rcMarker, 89, 10, 113, 34));
    EXPECT_TRUE(Same(m.m_arrChildren[2]->m_rcMarker, 89, 68, 113, 92));
    EXPECT_TRUE(Same(m.m_arrChildren[3]->m_rcMarker, 60, 39, 84, 63));
    EXPECT_TRUE(Same(m.m_arrChildren[4]->m_rcMarker, 118, 39, 142, 63));

    CPtrArray arr;
    EXPECT_TRUE(m_pPM->CreateDockMarkerWindows(NULL, 7, rc, arr));
    EXPECT_EQ(6, arr.GetSize()) << "centre, four arms and the second centre; no window for the root";
    ASSERT_EQ(6u, g_made.size());
    EXPECT_EQ(4, g_made[0].nKind);
    EXPECT_EQ(8, g_made[5].nKind);
    EXPECT_TRUE(Same(g_made[5].rc, 89, 39, 113, 63)) << "the second centre, centred and moved by (1, 1)";
    for (const Made& made : g_made)
        EXPECT_FALSE(made.bStandAlone);
}

TEST_F(DockMarkers, StandAloneOuterMarkersGetTheirFrameOnce)
{
    const RECT rc = {0, 0, 200, 100};
    CPtrArray arr;
    ASSERT_TRUE(m_pPM->CreateDockMarkerWindows(NULL, 5, rc, arr));
    ASSERT_EQ(4u, g_made.size());
    for (const Made& made : g_made)
    {
        EXPECT_TRUE(made.bStandAlone) << made.nKind;
        EXPECT_EQ(CSize(32, 32), made.szFrame) << made.nKind;
    }
    // The 24-pixel arrow widened to the 32-pixel frame, then moved in by the margin.
    EXPECT_TRUE(Same(g_made[0].rc, 84, 5, 116, 37));
    EXPECT_TRUE(Same(g_made[1].rc, 84, 63, 116, 95));
    EXPECT_TRUE(Same(g_made[2].rc, 5, 34, 37, 66));
    EXPECT_TRUE(Same(g_made[3].rc, 163, 34, 195, 66));

    MarkerBeta2 m(-1, NULL);
    m.m_nFlags |= 1;
    ASSERT_TRUE(m.Create(false, 0, rc));
    EXPECT_EQ(32, m.m_cx);
    EXPECT_EQ(5, m.m_nOffsetX);
    EXPECT_EQ(4, m.m_nOffsetY);
    m.Layout(0, rc, NULL);
    EXPECT_EQ(32, m.m_rcMarker.right - m.m_rcMarker.left) << "a second layout does not grow it";
    EXPECT_EQ(32, m.m_cx);
}

TEST_F(DockMarkers, RecolouringOnlyInStyleOne)
{
    const RECT rc = {0, 0, 100, 100};
    Marker a(-1, NULL);
    ASSERT_TRUE(a.Create(true, 0, rc));
    EXPECT_EQ(a.m_bmpFirst.GetPixelColor(12, 16), a.m_bmpSecond.GetPixelColor(12, 16))
        << "style 3 leaves the images as loaded";
    m_pPM->m_nDockMarkerStyle = 1;
    Marker b(-1, NULL);
    ASSERT_TRUE(b.Create(true, 0, rc));
    EXPECT_NE(b.m_bmpFirst.GetPixelColor(12, 16), b.m_bmpSecond.GetPixelColor(12, 16))
        << "style 1 lightens the second image";
    EXPECT_EQ(RGB(0, 255, 0), b.m_bmpSecond.GetPixelColor(0, 0)) << "the key colour stays";
    Marker c(-1, NULL);
    ASSERT_TRUE(c.Create(true, 4, rc));
    EXPECT_EQ(c.m_bmpFirst.GetPixelColor(44, 44), c.m_bmpSecond.GetPixelColor(44, 44))
        << "never the centre";
    m_pPM->m_nDockMarkerStyle = 3;
}

TEST_F(DockMarkers, HoverFramesOfBeta2Markers)
{
    DibCanvas canvas(100, 100, RGB(255, 255, 255));
    CDC* pDC = CDC::FromHandle(canvas.Dc());
    const COLORREF LINE = RGB(0x00, 0x60, 0xC4);
    FakeMarkerWnd wnd;
    wnd.m_nKind = 0;
    wnd.m_bStandAlone = true;
    const RECT rc = {10, 10, 42, 42};
    m_pPM->DrawDockMarker(*pDC, rc, 0, true, &wnd);
    EXPECT_EQ(LINE, canvas.Pixel(20, 10));
    EXPECT_EQ(LINE, canvas.Pixel(10, 20));
    EXPECT_EQ(LINE, canvas.Pixel(41, 20));
    EXPECT_EQ(RGB(255, 255, 255), canvas.Pixel(20, 41)) << "open toward the frame's inside";
    canvas.Fill(RGB(255, 255, 255));
    CWnd notMarker;
    m_pPM->DrawDockMarker(*pDC, rc, 0, true, &notMarker);
    EXPECT_EQ(0, canvas.Count(LINE, RECT{0, 0, 100, 100})) << "another window: no frame";

    // The centre outlines the arm of the hovered marker.
    canvas.Fill(RGB(255, 255, 255));
    FakeMarkerWnd arm;
    arm.m_nKind = 3;
    ASSERT_TRUE(arm.CreateEx(0, _T("Static"), _T(""), WS_POPUP, CRect(0, 0, 5, 5), NULL, 0));
    FakeMarkerWnd centre;
    centre.m_nKind = 4;
    centre.m_hWndLinked = arm.GetSafeHwnd();
    const RECT rcCentre = {0, 0, 88, 88};
    m_pPM->DrawDockMarker(*pDC, rcCentre, 4, false, &centre);
    EXPECT_EQ(LINE, canvas.Pixel(70, 29));
    EXPECT_EQ(LINE, canvas.Pixel(70, 57));
    EXPECT_EQ(LINE, canvas.Pixel(87, 40));
    EXPECT_EQ(RGB(255, 255, 255), canvas.Pixel(63, 29));
    arm.DestroyWindow();

    canvas.Fill(RGB(255, 255, 255));
    m_pPM->m_nDockMarkerStyle = 1;
    m_pPM->DrawDockMarker(*pDC, rc, 0, true, &wnd);
    EXPECT_EQ(0, canvas.Count(LINE, RECT{0, 0, 100, 100})) << "style 1 draws no hover frame";
    m_pPM->m_nDockMarkerStyle = 3;
}

TEST_F(DockMarkers, HighlightPixels)
{
    const int cx = 8, cy = 6;
    std::vector<DWORD> px(cx * cy, 0);
    m_pPM->PaintDockHighlight(px.data(), cx, cy, false, false, NULL, NULL, RGB(255, 0, 0),
                              COLORREF(-1), 0);
    // Styles 2 and 3 always fill with the one blue, whatever the caller asks.
    const COLORREF clrExpected = CExtBitmap::stat_HLS_Adjust(RGB(0, 0x20, 0x62), 0.0, 0.1, 0.0);
    const DWORD dwExpected = ((DWORD)GetRValue(clrExpected) << 16) | ((DWORD)GetGValue(clrExpected) << 8) |
                             GetBValue(clrExpected);
    for (int i = 0; i < cx * cy; i++)
        EXPECT_EQ(dwExpected, px[i]) << i;

    // Two rectangles: only their pixels change; the border is drawn on the outline.
    std::fill(px.begin(), px.end(), 0);
    const RECT rcMain = {0, 2, 8, 6}, rcTab = {1, 0, 4, 2};
    m_pPM->PaintDockHighlight(px.data(), cx, cy, true, true, &rcMain, &rcTab, COLORREF(-1),
                              RGB(255, 255, 255), 1);
    EXPECT_EQ(0u, px[(cy - 1 - 0) * cx + 6]) << "outside both rectangles";
    EXPECT_NE(0u, px[(cy - 1 - 0) * cx + 2]);
    EXPECT_NE(px[(cy - 1 - 4) * cx + 4], px[(cy - 1 - 5) * cx + 4]) << "fill inside, border at the bottom";

    // On a palette display: a checker of the shadow colour.
    themetest::ScreenDepthScope depth(8);
    std::fill(px.begin(), px.end(), 0);
    m_pPM->PaintDockHighlight(px.data(), cx, cy, false, false, NULL, NULL, COLORREF(-1), COLORREF(-1), 1);
    const COLORREF clrShadow = m_pPM->LookupColor(16);
    const DWORD dwShadow = ((DWORD)GetRValue(clrShadow) << 16) | ((DWORD)GetGValue(clrShadow) << 8) |
                           GetBValue(clrShadow);
    EXPECT_EQ(0u, px[0]);
    EXPECT_EQ(dwShadow, px[1]);
    EXPECT_EQ(dwShadow, px[cx]);
    EXPECT_EQ(0u, px[cx + 1]);
}
