// The scroll-bar painting record: part rectangles from real scroll-bar windows by
// arithmetic, the hit test, the classic and visual-style painting, and a theme's skin.
#include <gtest/gtest.h>
#include "theme_test_support.h"
#include "support/dib_canvas.h"
#include "toolkit/theme/pm_scroll_bar.h"

#include <vector>

using testsupport::DibCanvas;
typedef CExtPaintManager::PAINTSCROLLBARDATA PAINTSCROLLBARDATA;

namespace {

const COLORREF MAGENTA = RGB(255, 0, 255), GREEN = RGB(0, 255, 0);

// Stands for the grid's scroll bar: a real scroll-bar control with the bar's metrics.
struct FakeBar
{
    CWnd wnd;
    int nKind = 0;
    int arrMetrics[4] = {17, 17, 8, 8};

    FakeBar(bool bHorz, int cx, int cy)
    {
        nKind = bHorz ? 0 : 2;
        HWND hWnd = ::CreateWindowExA(0, "SCROLLBAR", "", WS_POPUP | (bHorz ? SBS_HORZ : SBS_VERT),
                                      0, 0, cx, cy, NULL, NULL, NULL, NULL);
        wnd.Attach(hWnd);
    }
    ~FakeBar()
    {
        HWND hWnd = wnd.Detach();
        if (hWnd != NULL)
            ::DestroyWindow(hWnd);
    }
    void SetInfo(int nMin, int nMax, UINT nPage, int nPos)
    {
        SCROLLINFO si = {sizeof(si), SIF_RANGE | SIF_PAGE | SIF_POS, nMin, nMax, nPage, nPos, 0};
        ::SetScrollInfo(wnd.GetSafeHwnd(), SB_CTL, &si, FALSE);
    }
    CExtScrollBar* Bar() { return reinterpret_cast<CExtScrollBar*>(this); }
};

FakeBar* Fake(CExtScrollBar* p) { return reinterpret_cast<FakeBar*>(p); }

const CExtScrollBarPaintHooks g_hooks = {
    [](CExtScrollBar* p) -> CWnd* { return &Fake(p)->wnd; },
    [](CExtScrollBar* p) { return Fake(p)->nKind; },
    [](CExtScrollBar* p, int arr[4]) {
        for (int i = 0; i < 4; i++)
            arr[i] = Fake(p)->arrMetrics[i];
    },
};

class ScrollBarRecord : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_pOld = PAINTSCROLLBARDATA::stat_GetBarHooks();
        PAINTSCROLLBARDATA::stat_SetBarHooks(&g_hooks);
        m_pPM = themetest::InstallTheme(RUNTIME_CLASS(CExtPaintManagerXP));
    }
    void TearDown() override { PAINTSCROLLBARDATA::stat_SetBarHooks(m_pOld); }
    const CExtScrollBarPaintHooks* m_pOld = NULL;
    CExtPaintManager* m_pPM = NULL;
};

::testing::AssertionResult RectIs(const RECT& rc, int l, int t, int r, int b)
{
    if (rc.left == l && rc.top == t && rc.right == r && rc.bottom == b)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "(" << rc.left << "," << rc.top << "," << rc.right
                                         << "," << rc.bottom << ") instead of (" << l << "," << t
                                         << "," << r << "," << b << ")";
}

bool SameArea(const DibCanvas& a, const DibCanvas& b, const RECT& rc)
{
    for (int y = rc.top; y < rc.bottom; y++)
        for (int x = rc.left; x < rc.right; x++)
            if (a.Pixel(x, y) != b.Pixel(x, y))
                return false;
    return true;
}

}  // namespace

TEST_F(ScrollBarRecord, ProportionalThumbAndPageAreas)
{
    FakeBar bar(true, 200, 17);
    // Track 17..183 (166 pixels); page 10 of 0..99: thumb MulDiv(166, 10, 99) = 17.
    struct Case
    {
        int nPos;
        int nThumbLeft;
        bool bFirstPage, bSecondPage;
    } cases[] = {{0, 17, false, true}, {45, 92, true, true}, {90, 166, true, false}};
    for (const Case& c : cases)
    {
        bar.SetInfo(0, 99, 10, c.nPos);
        PAINTSCROLLBARDATA d(bar.Bar());
        EXPECT_TRUE(d.m_bHorzBar);
        EXPECT_TRUE(d.m_bEnabled);
        EXPECT_TRUE(d.m_bAlwaysSet);
        EXPECT_EQ(-1, d.m_eHoverPart);
        EXPECT_TRUE(RectIs(d.m_rcBar, 0, 0, 200, 17));
        EXPECT_TRUE(RectIs(d.m_rcFirstArrow, 0, 0, 17, 17)) << c.nPos;
        EXPECT_TRUE(RectIs(d.m_rcSecondArrow, 183, 0, 200, 17)) << c.nPos;
        EXPECT_TRUE(RectIs(d.m_rcTrack, 17, 0, 183, 17)) << c.nPos;
        EXPECT_TRUE(RectIs(d.m_rcThumb, c.nThumbLeft, 0, c.nThumbLeft + 17, 17)) << c.nPos;
        if (c.bFirstPage)
            EXPECT_TRUE(RectIs(d.m_rcFirstPage, 17, 0, c.nThumbLeft, 17)) << c.nPos;
        else
            EXPECT_TRUE(::IsRectEmpty(&d.m_rcFirstPage)) << c.nPos;
        if (c.bSecondPage)
            EXPECT_TRUE(RectIs(d.m_rcSecondPage, c.nThumbLeft + 17, 0, 183, 17)) << c.nPos;
        else
            EXPECT_TRUE(::IsRectEmpty(&d.m_rcSecondPage)) << c.nPos;
        // The scroll information is kept as read.
        EXPECT_EQ(28u, d.m_DSI.cbSize);
        EXPECT_EQ(0x17u, d.m_DSI.fMask);
        EXPECT_EQ(99, d.m_DSI.nMax);
        EXPECT_EQ(10u, d.m_DSI.nPage);
        EXPECT_EQ(c.nPos, d.m_DSI.nPos);
    }
    // A minimum that is not 0 shifts everything alike.
    bar.SetInfo(100, 199, 10, 145);
    PAINTSCROLLBARDATA d(bar.Bar());
    EXPECT_TRUE(RectIs(d.m_rcThumb, 92, 0, 109, 17));
    EXPECT_EQ(100, d.m_DSI.nMin);
}

TEST_F(ScrollBarRecord, PageAsLargeAsTheRangeCountsOneMore)
{
    FakeBar bar(true, 200, 17);
    bar.SetInfo(0, 9, 9, 0);
    PAINTSCROLLBARDATA d(bar.Bar());
    EXPECT_EQ(9, d.m_DSI.nMax);  // the record keeps what it read
    const int nThumb = ::MulDiv(166, 9, 10);
    EXPECT_TRUE(RectIs(d.m_rcThumb, 17, 0, 17 + nThumb, 17));
    EXPECT_TRUE(::IsRectEmpty(&d.m_rcFirstPage));
    EXPECT_TRUE(RectIs(d.m_rcSecondPage, 17 + nThumb, 0, 183, 17));
}

TEST_F(ScrollBarRecord, NothingToScrollAndPageZero)
{
    FakeBar bar(true, 200, 17);
    bar.SetInfo(0, 5, 10, 0);  // the control keeps the page at the range's size
    {
        PAINTSCROLLBARDATA d(bar.Bar());
        EXPECT_TRUE(RectIs(d.m_rcThumb, 17, 0, 25, 17));  // the minimum thumb at the near edge
        EXPECT_TRUE(::IsRectEmpty(&d.m_rcFirstPage));
        EXPECT_TRUE(::IsRectEmpty(&d.m_rcSecondPage));
    }
    bar.arrMetrics[2] = 0;
    {
        PAINTSCROLLBARDATA d(bar.Bar());
        EXPECT_TRUE(::IsRectEmpty(&d.m_rcThumb));
    }
    // Page 0: the thumb is as long as an arrow, or 6 without arrows, or the minimum.
    bar.SetInfo(0, 100, 0, 50);
    struct Case
    {
        int nArrow, nMinThumb, nThumb;
    } cases[] = {{17, 0, 17}, {17, 30, 30}, {0, 0, 6}, {0, 4, 6}};
    for (const Case& c : cases)
    {
        bar.arrMetrics[0] = c.nArrow;
        bar.arrMetrics[2] = c.nMinThumb;
        PAINTSCROLLBARDATA d(bar.Bar());
        const int nTrack = 200 - 2 * c.nArrow;
        const int nLeft = c.nArrow + ::MulDiv(nTrack - c.nThumb, 50, 101);
        EXPECT_TRUE(RectIs(d.m_rcThumb, nLeft, 0, nLeft + c.nThumb, 17))
            << c.nArrow << "/" << c.nMinThumb;
    }
}

TEST_F(ScrollBarRecord, DisabledShortEmptyAndVertical)
{
    FakeBar bar(true, 200, 17);
    bar.SetInfo(0, 99, 10, 40);
    bar.wnd.EnableWindow(FALSE);
    {
        PAINTSCROLLBARDATA d(bar.Bar());
        EXPECT_FALSE(d.m_bEnabled);
        EXPECT_TRUE(::IsRectEmpty(&d.m_rcThumb));
        EXPECT_TRUE(::IsRectEmpty(&d.m_rcFirstPage));
        EXPECT_TRUE(::IsRectEmpty(&d.m_rcSecondPage));
        EXPECT_TRUE(RectIs(d.m_rcFirstArrow, 0, 0, 17, 17));
        EXPECT_EQ(0u, d.m_DSI.cbSize);
        EXPECT_EQ(0, d.m_DSI.nMax);
    }
    bar.wnd.EnableWindow(TRUE);

    // Shorter than two arrows: halves, no thumb, no page areas.
    FakeBar shortBar(true, 31, 17);
    shortBar.SetInfo(0, 99, 10, 40);
    {
        PAINTSCROLLBARDATA d(shortBar.Bar());
        EXPECT_TRUE(RectIs(d.m_rcFirstArrow, 0, 0, 15, 17));
        EXPECT_TRUE(RectIs(d.m_rcSecondArrow, 15, 0, 31, 17));
        EXPECT_TRUE(::IsRectEmpty(&d.m_rcThumb));
        EXPECT_TRUE(::IsRectEmpty(&d.m_rcFirstPage));
        EXPECT_TRUE(RectIs(d.m_rcTrack, 15, 0, 15, 17));
    }

    // No window, or an unknown orientation: an empty record.
    for (int nCase = 0; nCase < 2; nCase++)
    {
        if (nCase == 1)
            bar.nKind = 7;
        PAINTSCROLLBARDATA d(nCase == 0 ? NULL : bar.Bar(), true, 3, 55);
        EXPECT_TRUE(::IsRectEmpty(&d.m_rcBar)) << nCase;
        EXPECT_TRUE(::IsRectEmpty(&d.m_rcFirstArrow)) << nCase;
        EXPECT_TRUE(::IsRectEmpty(&d.m_rcThumb)) << nCase;
        EXPECT_EQ(-1, d.HitTest(POINT{5, 5})) << nCase;
        EXPECT_EQ(55, d.m_lParam);
        EXPECT_TRUE(d.m_bHoveredAreaIsPressed);
        DibCanvas canvas(50, 50, MAGENTA);
        d.Paint(*CDC::FromHandle(canvas.Dc()), *m_pPM);
        EXPECT_EQ(2500, canvas.Count(MAGENTA, RECT{0, 0, 50, 50})) << nCase;
    }
    bar.nKind = 0;

    FakeBar vert(false, 17, 200);
    vert.arrMetrics[1] = 20;
    vert.SetInfo(0, 99, 10, 0);
    PAINTSCROLLBARDATA d(vert.Bar());
    EXPECT_FALSE(d.m_bHorzBar);
    EXPECT_TRUE(RectIs(d.m_rcFirstArrow, 0, 0, 17, 20));
    EXPECT_TRUE(RectIs(d.m_rcSecondArrow, 0, 180, 17, 200));
    const int nThumb = ::MulDiv(160, 10, 99);
    EXPECT_TRUE(RectIs(d.m_rcThumb, 0, 20, 17, 20 + nThumb));
    EXPECT_TRUE(RectIs(d.m_rcSecondPage, 0, 20 + nThumb, 17, 180));
}

TEST_F(ScrollBarRecord, HitTestAndPartRectangles)
{
    FakeBar bar(true, 200, 17);
    bar.SetInfo(0, 99, 10, 45);  // thumb 92..109
    PAINTSCROLLBARDATA d(bar.Bar());
    struct Case
    {
        POINT pt;
        int nPart;
    } cases[] = {{{0, 5}, 1},   {{16, 16}, 1}, {{17, 5}, 4},  {{91, 5}, 4}, {{92, 5}, 3},
                 {{108, 5}, 3}, {{109, 5}, 5}, {{182, 5}, 5}, {{183, 5}, 2}, {{199, 5}, 2},
                 {{200, 5}, -1}, {{50, 17}, -1}, {{-1, 5}, -1}};
    for (const Case& c : cases)
        EXPECT_EQ(c.nPart, d.HitTest(c.pt)) << c.pt.x << "," << c.pt.y;
    RECT rc;
    for (int nCode : {0, 6, -1, 100})
    {
        ::SetRect(&rc, 1, 2, 3, 4);
        d.PartRect(rc, nCode);
        EXPECT_TRUE(RectIs(rc, 0, 0, 0, 0)) << nCode;
    }
    d.PartRect(rc, 3);
    EXPECT_TRUE(RectIs(rc, 92, 0, 109, 17));
    EXPECT_EQ(2, d.TrackHoverPart(POINT{190, 3}));
    EXPECT_EQ(2, d.m_eHoverPart);
    d.GetHoverPartRect(rc);
    EXPECT_TRUE(RectIs(rc, 183, 0, 200, 17));
    EXPECT_EQ(-1, d.TrackHoverPart(POINT{500, 3}));
    d.GetHoverPartRect(rc);
    EXPECT_TRUE(::IsRectEmpty(&rc));
}

TEST_F(ScrollBarRecord, ClassicPainting)
{
    ASSERT_FALSE(g_CurrentPaintManager.m_UxTheme.IsUsable(true));
    FakeBar bar(true, 200, 17);
    bar.SetInfo(0, 99, 10, 45);
    DibCanvas canvas(200, 17, MAGENTA), reference(200, 17, MAGENTA);
    CDC* pDC = CDC::FromHandle(canvas.Dc());
    LOGBRUSH lb;
    ASSERT_EQ((int)sizeof(lb), ::GetObject(m_pPM->GetAuxBrush(1).GetSafeHandle(), sizeof(lb), &lb));
    {
        PAINTSCROLLBARDATA d(bar.Bar());
        m_pPM->DrawScrollBar(*pDC, d);
        RECT rc = {0, 0, 17, 17};
        ::DrawFrameControl(reference.Dc(), &rc, DFC_SCROLL, DFCS_SCROLLLEFT);
        rc = {183, 0, 200, 17};
        ::DrawFrameControl(reference.Dc(), &rc, DFC_SCROLL, DFCS_SCROLLRIGHT);
        rc = {92, 0, 109, 17};
        ::DrawFrameControl(reference.Dc(), &rc, DFC_BUTTON, DFCS_BUTTONPUSH);
        EXPECT_TRUE(SameArea(canvas, reference, RECT{0, 0, 17, 17}));
        EXPECT_TRUE(SameArea(canvas, reference, RECT{183, 0, 200, 17}));
        EXPECT_TRUE(SameArea(canvas, reference, RECT{92, 0, 109, 17}));
        EXPECT_EQ(lb.lbColor, canvas.Pixel(50, 8));  // page areas show the bar's fill
        EXPECT_EQ(lb.lbColor, canvas.Pixel(150, 8));
    }
    {
        // The first arrow held down; the second page area pressed takes brush 11.
        canvas.Fill(MAGENTA);
        reference.Fill(MAGENTA);
        PAINTSCROLLBARDATA d(bar.Bar(), true, 1);
        m_pPM->DrawScrollBar(*pDC, d);
        RECT rc = {0, 0, 17, 17};
        ::DrawFrameControl(reference.Dc(), &rc, DFC_SCROLL, DFCS_SCROLLLEFT | DFCS_PUSHED | DFCS_FLAT);
        EXPECT_TRUE(SameArea(canvas, reference, RECT{0, 0, 17, 17}));
        PAINTSCROLLBARDATA d5(bar.Bar(), true, 5);
        m_pPM->DrawScrollBar(*pDC, d5);
        ASSERT_EQ((int)sizeof(lb), ::GetObject(m_pPM->GetAuxBrush(11).GetSafeHandle(), sizeof(lb), &lb));
        EXPECT_EQ(lb.lbColor, canvas.Pixel(150, 8));
    }
    {
        // Disabled: inactive arrows, no thumb.
        bar.wnd.EnableWindow(FALSE);
        canvas.Fill(MAGENTA);
        reference.Fill(MAGENTA);
        PAINTSCROLLBARDATA d(bar.Bar());
        m_pPM->DrawScrollBar(*pDC, d);
        RECT rc = {183, 0, 200, 17};
        ::DrawFrameControl(reference.Dc(), &rc, DFC_SCROLL, DFCS_SCROLLRIGHT | DFCS_INACTIVE);
        EXPECT_TRUE(SameArea(canvas, reference, RECT{183, 0, 200, 17}));
        ASSERT_EQ((int)sizeof(lb), ::GetObject(m_pPM->GetAuxBrush(1).GetSafeHandle(), sizeof(lb), &lb));
        EXPECT_EQ(lb.lbColor, canvas.Pixel(100, 8));
        bar.wnd.EnableWindow(TRUE);
    }
    {
        // Outside the clip region nothing is drawn.
        canvas.Fill(MAGENTA);
        HRGN hClip = ::CreateRectRgn(0, 0, 0, 0);
        ::SelectClipRgn(canvas.Dc(), hClip);
        PAINTSCROLLBARDATA d(bar.Bar());
        m_pPM->DrawScrollBar(*pDC, d);
        ::SelectClipRgn(canvas.Dc(), NULL);
        ::DeleteObject(hClip);
        EXPECT_EQ(200 * 17, canvas.Count(MAGENTA, RECT{0, 0, 200, 17}));
    }
}

namespace {

std::vector<std::pair<int, int>> g_calls;

HRESULT WINAPI RecordDraw(HTHEME, HDC, int nPart, int nState, const RECT*, const RECT*)
{
    g_calls.push_back({nPart, nState});
    return S_OK;
}

}  // namespace

TEST_F(ScrollBarRecord, VisualStylePartsAndStates)
{
    themetest::Fake() = themetest::FakeUxState();
    themetest::FakeUxTheme fake;
    UxThemeLibrary& ux = g_CurrentPaintManager.m_UxTheme;
    ux.m_dwComCtlVersion = 0x00060000;
    UxThemeLibrary::PFN_DrawThemeBackground pfnOld = ux.m_pfnDrawThemeBackground;
    ux.m_pfnDrawThemeBackground = RecordDraw;
    FakeBar bar(true, 200, 17);
    bar.SetInfo(0, 99, 10, 45);
    DibCanvas canvas(200, 200, MAGENTA);
    CDC* pDC = CDC::FromHandle(canvas.Dc());
    typedef std::vector<std::pair<int, int>> Calls;
    struct Case
    {
        bool bHorz, bPressed, bDisabled;
        int nHover;
        Calls expected;
        const char* sName;
    } cases[] = {
        {true, false, false, -1, {{1, 9}, {1, 13}, {4, 1}, {5, 1}, {2, 1}, {8, 0}}, "resting"},
        {true, false, false, 1, {{1, 10}, {1, 13}, {4, 1}, {5, 1}, {2, 1}, {8, 0}}, "hot arrow"},
        {true, true, false, 3, {{1, 9}, {1, 13}, {4, 1}, {5, 1}, {2, 3}, {8, 0}}, "thumb held"},
        {true, true, false, 4, {{1, 9}, {1, 13}, {4, 1}, {5, 3}, {2, 1}, {8, 0}}, "page held"},
        {true, false, false, 5, {{1, 9}, {1, 13}, {4, 2}, {5, 1}, {2, 1}, {8, 0}}, "hot page"},
        {true, true, false, 2, {{1, 9}, {1, 15}, {4, 1}, {5, 1}, {2, 1}, {8, 0}}, "second arrow held"},
        {true, false, true, -1, {{1, 12}, {1, 16}}, "disabled"},
        {false, false, false, 2, {{1, 1}, {1, 6}, {6, 1}, {7, 1}, {3, 1}, {9, 0}}, "vertical"},
        {false, false, true, -1, {{1, 4}, {1, 8}}, "vertical disabled"},
    };
    FakeBar vert(false, 17, 200);
    vert.SetInfo(0, 99, 10, 45);
    for (const Case& c : cases)
    {
        FakeBar& b = c.bHorz ? bar : vert;
        b.wnd.EnableWindow(c.bDisabled ? FALSE : TRUE);
        g_calls.clear();
        PAINTSCROLLBARDATA d(b.Bar(), c.bPressed, c.nHover);
        m_pPM->DrawScrollBar(*pDC, d);
        EXPECT_EQ(c.expected, g_calls) << c.sName;
        EXPECT_EQ(L"SCROLLBAR", themetest::Fake().sLastOpenList) << c.sName;
        EXPECT_EQ(b.wnd.GetSafeHwnd(), themetest::Fake().hLastOpenWnd) << c.sName;
        b.wnd.EnableWindow(TRUE);
    }
    EXPECT_EQ(themetest::Fake().nOpenCalls, themetest::Fake().nCloseCalls);
    ux.m_pfnDrawThemeBackground = pfnOld;
}

namespace {

// A theme that hands out an image skin.
class SkinTheme : public CExtPaintManagerXP
{
public:
    CObject* GetScrollBarSkin(bool, CExtScrollBar*, LPARAM, bool) override { return &m_skin; }
    CExtScrollBarSkin m_skin;
};

}  // namespace

TEST_F(ScrollBarRecord, SkinnedPainting)
{
    SkinTheme theme;
    HICON hGreen = CExtPaintManager::CreateColorIcon(GREEN);
    HICON hBlue = CExtPaintManager::CreateColorIcon(RGB(0, 0, 255));
    HICON hRed = CExtPaintManager::CreateColorIcon(RGB(255, 0, 0));
    for (int s = 0; s < CExtScrollBarSkin::__STATE_COUNT; s++)
        theme.m_skin.m_arrImages[s][0].AssignFromHICON(hGreen);  // the track
    theme.m_skin.m_arrImages[3][3].AssignFromHICON(hBlue);       // the hovered thumb
    theme.m_skin.m_arrImages[2][1].AssignFromHICON(hRed);        // arrows while another part is hot
    ::DestroyIcon(hGreen);
    ::DestroyIcon(hBlue);
    ::DestroyIcon(hRed);
    FakeBar bar(true, 200, 17);
    bar.SetInfo(0, 99, 10, 45);
    DibCanvas canvas(200, 17, MAGENTA);
    PAINTSCROLLBARDATA d(bar.Bar(), false, 3);
    d.Paint(*CDC::FromHandle(canvas.Dc()), theme);
    EXPECT_EQ(GREEN, canvas.Pixel(50, 8));
    EXPECT_EQ(RGB(0, 0, 255), canvas.Pixel(100, 8));
    EXPECT_EQ(RGB(255, 0, 0), canvas.Pixel(8, 8));
    EXPECT_EQ(MAGENTA, canvas.Pixel(190, 8));  // no image for the second arrow in state 2
}
