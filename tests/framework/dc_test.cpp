// CDC painting checked pixel by pixel on a 32-bit DIB: fills and frames, 3D and focus
// rectangles, the inverted-rectangle normalisation, clipping, origins and mapping,
// the two-handle (output / attribute) protocol, the temporary handle map and the
// window DCs.
#include <gtest/gtest.h>
#include "framework/framework.h"
#include "support/dib_canvas.h"

using testsupport::DibCanvas;

namespace {

const COLORREF kWhite = RGB(255, 255, 255);
const COLORREF kRed = RGB(255, 0, 0);
const COLORREF kBlue = RGB(0, 0, 255);
const COLORREF kGreen = RGB(0, 128, 0);

// A CDC borrowing a canvas's DC for the length of a test.
struct CanvasDC {
    CDC dc;
    explicit CanvasDC(const DibCanvas& canvas) { dc.Attach(canvas.Dc()); }
    ~CanvasDC() { dc.Detach(); }
    CDC* operator->() { return &dc; }
};

// Every pixel of the canvas: colour `in` inside r, `out` elsewhere.
::testing::AssertionResult AreaIs(const DibCanvas& c, const RECT& r, COLORREF in, COLORREF out) {
    for (int y = 0; y < c.Height(); ++y)
        for (int x = 0; x < c.Width(); ++x) {
            bool inside = x >= r.left && x < r.right && y >= r.top && y < r.bottom;
            COLORREF want = inside ? in : out;
            if (c.Pixel(x, y) != want)
                return ::testing::AssertionFailure() << "pixel (" << x << "," << y << ") is 0x" << std::hex
                                                     << c.Pixel(x, y) << ", expected 0x" << want;
        }
    return ::testing::AssertionSuccess();
}

}  // namespace

TEST(CDCFill, FillSolidRectFillsExactlyAndKeepsTheBackgroundColour) {
    DibCanvas canvas(20, 20);
    CanvasDC dc(canvas);
    dc->SetBkColor(kBlue);
    dc->FillSolidRect(3, 4, 5, 6, kRed);
    EXPECT_TRUE(AreaIs(canvas, RECT{3, 4, 8, 10}, kRed, kWhite));
    // The background colour stays the fill colour, as callers of the classic class expect.
    EXPECT_EQ(kRed, dc->GetBkColor());
}

TEST(CDCFill, InvertedRectanglesAreNormalised) {
    struct Case {
        const char* name;
        RECT given;
        RECT filled;
    } cases[] = {
        {"negative width", {10, 2, 7, 5}, {7, 2, 10, 5}},
        {"negative height", {2, 12, 6, 9}, {2, 9, 6, 12}},
        {"both", {15, 15, 11, 13}, {11, 13, 15, 15}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DibCanvas canvas(20, 20);
        CanvasDC dc(canvas);
        dc->FillSolidRect(&c.given, kGreen);
        EXPECT_TRUE(AreaIs(canvas, c.filled, kGreen, kWhite));
    }
    // The x/y/cx/cy form with a negative extent fills the pixels before the start edge.
    DibCanvas canvas(20, 20);
    CanvasDC dc(canvas);
    dc->FillSolidRect(10, 5, -1, 3, kRed);
    EXPECT_TRUE(AreaIs(canvas, RECT{9, 5, 10, 8}, kRed, kWhite));
}

TEST(CDCFill, FillRectAndFrameRectUseTheBrush) {
    DibCanvas canvas(16, 16);
    CanvasDC dc(canvas);
    CBrush red(kRed), blue(kBlue);
    RECT r = {2, 2, 12, 10};
    dc->FillRect(&r, &red);
    EXPECT_TRUE(AreaIs(canvas, r, kRed, kWhite));
    dc->FrameRect(&r, &blue);
    EXPECT_EQ(kBlue, canvas.Pixel(2, 2));
    EXPECT_EQ(kBlue, canvas.Pixel(11, 9));
    EXPECT_EQ(kBlue, canvas.Pixel(6, 9));
    EXPECT_EQ(kRed, canvas.Pixel(3, 3));
    EXPECT_EQ(kRed, canvas.Pixel(10, 8));
    EXPECT_EQ(kWhite, canvas.Pixel(12, 10));
}

TEST(CDCFrame, Draw3dRectPaintsOnePixelEdges) {
    DibCanvas canvas(20, 20);
    CanvasDC dc(canvas);
    dc->Draw3dRect(2, 3, 10, 8, kRed, kBlue);  // covers x 2..11, y 3..10
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x) {
            COLORREF want = kWhite;
            bool inX = x >= 2 && x <= 11, inY = y >= 3 && y <= 10;
            if (inX && inY) {
                if (x == 11 || y == 10)
                    want = kBlue;  // right column and bottom row, both far corners included
                else if (x == 2 || y == 3)
                    want = kRed;
            }
            ASSERT_EQ(want, canvas.Pixel(x, y)) << "at " << x << "," << y;
        }
    // The RECT form draws the same frame.
    DibCanvas second(20, 20);
    CanvasDC dc2(second);
    RECT r = {2, 3, 12, 11};
    dc2->Draw3dRect(&r, kRed, kBlue);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x) ASSERT_EQ(canvas.Pixel(x, y), second.Pixel(x, y)) << x << "," << y;
}

TEST(CDCFrame, FocusRectIsADottedXorFrame) {
    DibCanvas canvas(20, 20);
    CanvasDC dc(canvas);
    RECT r = {2, 2, 14, 10};
    dc->DrawFocusRect(&r);
    // Every other pixel of each edge is inverted; the inside stays.
    int changedTop = 0;
    for (int x = 2; x < 14; ++x) changedTop += canvas.Pixel(x, 2) != kWhite;
    EXPECT_EQ(6, changedTop);
    for (int x = 2; x < 13; ++x) EXPECT_NE(canvas.Pixel(x, 2), canvas.Pixel(x + 1, 2)) << x;
    EXPECT_EQ(kWhite, canvas.Pixel(5, 5));
    EXPECT_EQ(kWhite, canvas.Pixel(14, 2));
    // Drawing it a second time removes it.
    dc->DrawFocusRect(&r);
    EXPECT_TRUE(AreaIs(canvas, RECT{0, 0, 0, 0}, kWhite, kWhite));
}

TEST(CDCShapes, RectangleEllipseAndLinesUseTheSelectedPenAndBrush) {
    DibCanvas canvas(30, 30);
    CanvasDC dc(canvas);
    CPen pen(PS_SOLID, 1, kBlue);
    CBrush brush(kRed);
    CPen* oldPen = dc->SelectObject(&pen);
    CBrush* oldBrush = dc->SelectObject(&brush);
    ASSERT_NE(nullptr, oldPen);
    ASSERT_NE(nullptr, oldBrush);
    EXPECT_TRUE(oldPen->IsKindOf(RUNTIME_CLASS(CPen)));
    EXPECT_TRUE(oldBrush->IsKindOf(RUNTIME_CLASS(CBrush)));

    dc->Rectangle(2, 2, 8, 8);
    EXPECT_EQ(kBlue, canvas.Pixel(2, 2));
    EXPECT_EQ(kBlue, canvas.Pixel(7, 7));
    EXPECT_EQ(kRed, canvas.Pixel(4, 5));
    EXPECT_EQ(kWhite, canvas.Pixel(8, 8));

    dc->MoveTo(10, 20);
    EXPECT_EQ(CPoint(10, 20), dc->GetCurrentPosition());
    dc->LineTo(20, 20);
    EXPECT_EQ(kBlue, canvas.Pixel(10, 20));
    EXPECT_EQ(kBlue, canvas.Pixel(19, 20));
    EXPECT_EQ(kWhite, canvas.Pixel(20, 20));  // the end point is not drawn
    CPoint prev = dc->MoveTo(0, 0);
    EXPECT_EQ(CPoint(20, 20), prev);

    dc->Ellipse(10, 2, 20, 12);
    EXPECT_EQ(kRed, canvas.Pixel(15, 7));
    EXPECT_EQ(kWhite, canvas.Pixel(10, 2));  // the corner lies outside the ellipse

    POINT tri[3] = {{2, 25}, {8, 25}, {2, 29}};
    dc->Polygon(tri, 3);
    EXPECT_EQ(kBlue, canvas.Pixel(2, 25));
    EXPECT_NE(kWhite, canvas.Pixel(3, 26));

    // Restoring the previous objects lets the ours go without being selected.
    EXPECT_EQ(&pen, dc->SelectObject(oldPen));
    EXPECT_EQ(&brush, dc->SelectObject(oldBrush));
}

TEST(CDCShapes, DrawEdgeUsesTheSystemColours) {
    DibCanvas canvas(20, 20);
    CanvasDC dc(canvas);
    RECT r = {1, 1, 15, 15};
    dc->DrawEdge(&r, EDGE_SUNKEN, BF_RECT);
    EXPECT_EQ(GetSysColor(COLOR_BTNSHADOW), canvas.Pixel(1, 1));
    EXPECT_EQ(GetSysColor(COLOR_BTNHIGHLIGHT), canvas.Pixel(14, 14));
    EXPECT_EQ(kWhite, canvas.Pixel(15, 15));
}

TEST(CDCShapes, DrawStateAndFrameControls) {
    // A 4x4 red bitmap, not selected anywhere.
    HDC screen = ::GetDC(NULL);
    CBitmap bmp;
    ASSERT_TRUE(bmp.Attach(::CreateCompatibleBitmap(screen, 4, 4)));
    HDC mem = ::CreateCompatibleDC(screen);
    HGDIOBJ old = ::SelectObject(mem, bmp.m_hObject);
    RECT all = {0, 0, 4, 4};
    HBRUSH red = ::CreateSolidBrush(kRed);
    ::FillRect(mem, &all, red);
    ::DeleteObject(red);
    ::SelectObject(mem, old);
    ::DeleteDC(mem);
    ::ReleaseDC(NULL, screen);

    DibCanvas canvas(30, 30);
    CanvasDC dc(canvas);
    EXPECT_TRUE(dc->DrawState(CPoint(2, 3), CSize(4, 4), &bmp, DSS_NORMAL, (CBrush*)NULL));
    EXPECT_TRUE(AreaIs(canvas, RECT{2, 3, 6, 7}, kRed, kWhite));

    canvas.Fill(kWhite);
    dc->SelectStockObject(DEFAULT_GUI_FONT);
    EXPECT_TRUE(dc->DrawState(CPoint(0, 0), CSize(30, 16), "Ab", DSS_NORMAL, TRUE, 0, (HBRUSH)NULL));
    EXPECT_GT(30 * 16 - canvas.Count(kWhite, RECT{0, 0, 30, 16}), 5);  // the text left ink
    EXPECT_EQ(0, 30 * 14 - canvas.Count(kWhite, RECT{0, 16, 30, 30}));  // and nothing below its box

    canvas.Fill(kWhite);
    CRect button(1, 1, 21, 13);
    EXPECT_TRUE(dc->DrawFrameControl(&button, DFC_BUTTON, DFCS_BUTTONPUSH));
    EXPECT_EQ(::GetSysColor(COLOR_3DDKSHADOW), canvas.Pixel(20, 12));
    EXPECT_EQ(::GetSysColor(COLOR_BTNFACE), canvas.Pixel(10, 6));
    EXPECT_EQ(kWhite, canvas.Pixel(21, 13));
}

TEST(CDCClipping, IntersectExcludeAndRegionSelection) {
    DibCanvas canvas(20, 20);
    CanvasDC dc(canvas);
    EXPECT_NE(ERROR, dc->IntersectClipRect(4, 4, 12, 12));
    CRect box;
    EXPECT_EQ(SIMPLEREGION, dc->GetClipBox(&box));
    EXPECT_EQ(CRect(4, 4, 12, 12), box);
    EXPECT_TRUE(dc->PtVisible(4, 4));
    EXPECT_FALSE(dc->PtVisible(12, 12));
    RECT outside = {0, 0, 3, 3};
    EXPECT_FALSE(dc->RectVisible(&outside));
    EXPECT_EQ(COMPLEXREGION, dc->ExcludeClipRect(6, 6, 8, 8));
    dc->FillSolidRect(0, 0, 20, 20, kRed);
    EXPECT_EQ(kWhite, canvas.Pixel(3, 3));
    EXPECT_EQ(kRed, canvas.Pixel(4, 4));
    EXPECT_EQ(kRed, canvas.Pixel(11, 11));
    EXPECT_EQ(kWhite, canvas.Pixel(12, 12));
    EXPECT_EQ(kWhite, canvas.Pixel(6, 6));
    EXPECT_EQ(kWhite, canvas.Pixel(7, 7));
    EXPECT_EQ(kRed, canvas.Pixel(8, 8));

    // NULL removes the clip region.
    dc->SelectClipRgn(NULL);
    dc->FillSolidRect(0, 0, 2, 2, kBlue);
    EXPECT_EQ(kBlue, canvas.Pixel(0, 0));

    // A region selected, then narrowed with a mode.
    CRgn a, b;
    a.CreateRectRgn(0, 0, 10, 10);
    b.CreateRectRgn(5, 0, 20, 20);
    EXPECT_EQ(SIMPLEREGION, dc->SelectClipRgn(&a));
    EXPECT_EQ(SIMPLEREGION, dc->SelectClipRgn(&b, RGN_AND));
    EXPECT_EQ(SIMPLEREGION, dc->GetClipBox(&box));
    EXPECT_EQ(CRect(5, 0, 10, 10), box);
    // The DC keeps a copy: our regions may change or go.
    a.OffsetRgn(100, 100);
    dc->FillSolidRect(0, 0, 20, 20, kGreen);
    EXPECT_EQ(kGreen, canvas.Pixel(5, 0));
    EXPECT_EQ(kGreen, canvas.Pixel(9, 9));
    EXPECT_NE(kGreen, canvas.Pixel(4, 0));
    EXPECT_NE(kGreen, canvas.Pixel(10, 9));
    dc->SelectClipRgn(NULL);
}

TEST(CDCCoordinates, ViewportAndWindowOriginsMoveTheOutput) {
    DibCanvas canvas(30, 30);
    CanvasDC dc(canvas);
    EXPECT_EQ(CPoint(0, 0), dc->SetViewportOrg(10, 5));
    EXPECT_EQ(CPoint(10, 5), dc->GetViewportOrg());
    dc->FillSolidRect(0, 0, 2, 2, kRed);
    EXPECT_TRUE(AreaIs(canvas, RECT{10, 5, 12, 7}, kRed, kWhite));

    EXPECT_EQ(CPoint(10, 5), dc->OffsetViewportOrg(2, 3));
    EXPECT_EQ(CPoint(0, 0), dc->SetWindowOrg(-4, 0));  // logical -4 is the viewport origin
    canvas.Fill(kWhite);
    dc->FillSolidRect(-4, 0, 1, 1, kBlue);
    EXPECT_EQ(kBlue, canvas.Pixel(12, 8));
    EXPECT_EQ(CPoint(-4, 0), dc->OffsetWindowOrg(1, 1));
    EXPECT_EQ(CPoint(-3, 1), dc->GetWindowOrg());

    // Logical (-3, 1) is device (12, 8).
    POINT pt = {-3, 1};
    dc->LPtoDP(&pt);
    EXPECT_EQ(12, pt.x);
    EXPECT_EQ(8, pt.y);
    RECT r = {12, 8, 22, 18};
    dc->DPtoLP(&r);
    EXPECT_EQ(CRect(-3, 1, 7, 11), CRect(r));
    // Sizes do not move with the origins.
    SIZE sz = {5, 7};
    dc->LPtoDP(&sz);
    EXPECT_EQ(5, sz.cx);
    EXPECT_EQ(7, sz.cy);
}

TEST(CDCCoordinates, MapModeAndHimetric) {
    DibCanvas canvas(10, 10);
    CanvasDC dc(canvas);
    int dpiX = dc->GetDeviceCaps(LOGPIXELSX), dpiY = dc->GetDeviceCaps(LOGPIXELSY);
    ASSERT_GT(dpiX, 0);
    SIZE sz = {dpiX, dpiY * 2};
    dc->DPtoHIMETRIC(&sz);
    EXPECT_EQ(2540, sz.cx);  // one logical inch
    EXPECT_EQ(5080, sz.cy);
    dc->HIMETRICtoDP(&sz);
    EXPECT_EQ(dpiX, sz.cx);
    EXPECT_EQ(dpiY * 2, sz.cy);

    EXPECT_EQ(MM_TEXT, dc->SetMapMode(MM_ISOTROPIC));
    dc->SetWindowExt(100, 100);
    dc->SetViewportExt(10, 10);
    EXPECT_EQ(MM_ISOTROPIC, dc->GetMapMode());
    SIZE logical = {50, 30};
    dc->LPtoDP(&logical);
    EXPECT_EQ(5, logical.cx);
    EXPECT_EQ(3, logical.cy);
    // In a fixed metric mode a device size maps through physical inches, and sizes stay
    // positive although y grows upward.
    dc->SetMapMode(MM_LOMETRIC);
    SIZE metric = {dc->GetDeviceCaps(HORZRES), dc->GetDeviceCaps(VERTRES)};
    dc->DPtoLP(&metric);
    EXPECT_GT(metric.cy, 0);
    EXPECT_NEAR(dc->GetDeviceCaps(HORZSIZE) * 10, metric.cx, 2);  // tenths of a millimetre
    SIZE himetric = {dc->GetDeviceCaps(HORZRES), 0};
    dc->DPtoHIMETRIC(&himetric);
    EXPECT_NEAR(dc->GetDeviceCaps(HORZSIZE) * 100, himetric.cx, 20);
    EXPECT_EQ(MM_LOMETRIC, dc->GetMapMode());  // restored
    dc->SetMapMode(MM_TEXT);
}

TEST(CDCAttributes, SettersChangeBothHandlesAndGettersReadTheAttributeDC) {
    DibCanvas out(4, 4), attrib(4, 4);
    CDC dc;
    dc.m_hDC = out.Dc();
    dc.m_hAttribDC = attrib.Dc();
    dc.SetTextColor(kRed);
    dc.SetBkMode(TRANSPARENT);
    EXPECT_EQ(kRed, ::GetTextColor(out.Dc()));
    EXPECT_EQ(kRed, ::GetTextColor(attrib.Dc()));
    EXPECT_EQ(TRANSPARENT, ::GetBkMode(out.Dc()));
    ::SetTextColor(attrib.Dc(), kBlue);
    EXPECT_EQ(kBlue, dc.GetTextColor());  // read from the attribute DC
    ::SetTextColor(out.Dc(), kGreen);
    EXPECT_EQ(kBlue, dc.GetTextColor());
    // Output goes to m_hDC only.
    dc.SetPixelV(1, 1, kRed);
    EXPECT_EQ(kRed, out.Pixel(1, 1));
    EXPECT_EQ(kWhite, attrib.Pixel(1, 1));
    dc.m_hDC = dc.m_hAttribDC = NULL;  // borrowed: nothing to delete
}

TEST(CDCHandles, FromHandleGivesOneTemporaryPerHandleUntilIdle) {
    DibCanvas canvas(4, 4);
    HDC h = canvas.Dc();
    CDC* p1 = CDC::FromHandle(h);
    ASSERT_NE(nullptr, p1);
    EXPECT_EQ(h, p1->m_hDC);
    EXPECT_EQ(h, p1->m_hAttribDC);
    EXPECT_EQ(p1, CDC::FromHandle(h));
    EXPECT_EQ(nullptr, CDC::FromHandle(NULL));
    CDC* none = nullptr;
    __asm__("" : "+r"(none));  // as if it came from elsewhere
    EXPECT_EQ(nullptr, none->GetSafeHdc());
    AfxDeleteTempGdiMaps();
    // The wrapper went, the DC did not.
    EXPECT_EQ((DWORD)OBJ_MEMDC, ::GetObjectType(h));
    {
        CDC owner;
        owner.Attach(h);
        EXPECT_EQ(&owner, CDC::FromHandle(h));
        EXPECT_EQ(h, owner.Detach());
        EXPECT_NE(&owner, CDC::FromHandle(h));
    }
    EXPECT_EQ((DWORD)OBJ_MEMDC, ::GetObjectType(h));
    AfxDeleteTempGdiMaps();
}

TEST(CDCHandles, CompatibleDCIsOwnedAndDeleted) {
    HDC h;
    {
        CDC dc;
        ASSERT_TRUE(dc.CreateCompatibleDC(NULL));
        h = dc.GetSafeHdc();
        EXPECT_EQ((DWORD)OBJ_MEMDC, ::GetObjectType(h));
        int saved = dc.SaveDC();
        EXPECT_NE(0, saved);
        dc.SetTextColor(kRed);
        EXPECT_TRUE(dc.RestoreDC(saved));
        EXPECT_EQ(RGB(0, 0, 0), dc.GetTextColor());
    }
    EXPECT_EQ(0u, ::GetObjectType(h));
}

TEST(CDCBits, BlitsPatternsAndPixels) {
    DibCanvas src(8, 8), dst(20, 20);
    CanvasDC s(src), d(dst);
    s->FillSolidRect(0, 0, 4, 4, kRed);
    s->FillSolidRect(4, 4, 4, 4, kBlue);
    EXPECT_TRUE(d->BitBlt(1, 1, 8, 8, &s.dc, 0, 0, SRCCOPY));
    EXPECT_EQ(kRed, dst.Pixel(1, 1));
    EXPECT_EQ(kBlue, dst.Pixel(8, 8));
    EXPECT_EQ(kWhite, dst.Pixel(9, 9));
    dst.Fill(kWhite);
    d->SetStretchBltMode(COLORONCOLOR);
    EXPECT_EQ(COLORONCOLOR, d->GetStretchBltMode());
    EXPECT_TRUE(d->StretchBlt(0, 0, 16, 16, &s.dc, 0, 0, 8, 8, SRCCOPY));
    EXPECT_EQ(kRed, dst.Pixel(7, 7));
    EXPECT_EQ(kBlue, dst.Pixel(8, 8));
    EXPECT_EQ(kBlue, dst.Pixel(15, 15));

    CBrush green(kGreen);
    CBrush* old = d->SelectObject(&green);
    EXPECT_TRUE(d->PatBlt(16, 0, 4, 4, PATCOPY));
    EXPECT_EQ(kGreen, dst.Pixel(19, 3));
    d->SelectObject(old);

    EXPECT_EQ(kRed, d->SetPixel(18, 18, kRed));
    EXPECT_TRUE(d->SetPixelV(19, 19, kBlue));
    EXPECT_EQ(kRed, d->GetPixel(18, 18));
    EXPECT_EQ(kBlue, d->GetPixel(CPoint(19, 19)));
    EXPECT_EQ(CLR_INVALID, d->GetPixel(50, 50));
}

TEST(CDCBits, HalftoneBrushIsACheckerboard) {
    CBrush* brush = CDC::GetHalftoneBrush();
    ASSERT_NE(nullptr, brush);
    EXPECT_EQ(brush, CDC::GetHalftoneBrush());
    DibCanvas canvas(8, 8);
    CanvasDC dc(canvas);
    dc->SetTextColor(RGB(0, 0, 0));
    dc->SetBkColor(kWhite);
    RECT r = {0, 0, 8, 8};
    dc->FillRect(&r, brush);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) {
            ASSERT_NE(canvas.Pixel(x, y), canvas.Pixel((x + 1) % 8, y)) << x << "," << y;
            ASSERT_EQ(canvas.Pixel(x, y), canvas.Pixel((x + 1) % 8, (y + 1) % 8)) << x << "," << y;
        }
}

TEST(CDCText, DrawTextCalcRectMatchesTheExtent) {
    DibCanvas canvas(200, 40);
    CanvasDC dc(canvas);
    CFont* old = (CFont*)dc->SelectStockObject(DEFAULT_GUI_FONT);
    ASSERT_NE(nullptr, old);
    CString text("Sample text");
    CSize ext = dc->GetTextExtent(text);
    EXPECT_GT(ext.cx, 0);
    EXPECT_EQ(ext, dc->GetTextExtent("Sample text", 11));
    CRect calc(0, 0, 0, 0);
    int h = dc->DrawText(text, &calc, DT_SINGLELINE | DT_CALCRECT);
    EXPECT_EQ(ext.cx, calc.Width());
    EXPECT_EQ(ext.cy, calc.Height());
    EXPECT_EQ(ext.cy, h);
    EXPECT_EQ(200 * 40, canvas.Count(kWhite, RECT{0, 0, 200, 40}));  // DT_CALCRECT draws nothing

    TEXTMETRIC tm;
    ASSERT_TRUE(dc->GetTextMetrics(&tm));
    EXPECT_EQ(tm.tmHeight, ext.cy);

    dc->SetTextColor(kRed);
    dc->SetBkMode(TRANSPARENT);
    dc->TextOut(2, 2, text);
    EXPECT_GT(canvas.Count(kRed, RECT{2, 2, 2 + ext.cx, 2 + ext.cy}), 10);
    EXPECT_EQ(0, canvas.Count(kRed, RECT{2 + ext.cx + 1, 0, 200, 40}));
    dc->SelectObject(old);
}

TEST(CDCLayout, RightToLeftLayoutMirrorsTheOutput) {
    DibCanvas canvas(20, 4);
    CanvasDC dc(canvas);
    EXPECT_EQ(0u, dc->SetLayout(LAYOUT_RTL));
    EXPECT_EQ((DWORD)LAYOUT_RTL, dc->GetLayout());
    dc->FillSolidRect(0, 0, 2, 4, kRed);
    EXPECT_EQ(kRed, canvas.Pixel(19, 0));
    EXPECT_EQ(kRed, canvas.Pixel(18, 3));
    EXPECT_EQ(kWhite, canvas.Pixel(0, 0));
    dc->SetLayout(0);
}

// ---- the window DCs -----------------------------------------------------------------

namespace {

LPCTSTR DcTestClass() { return AfxRegisterWndClass(0, ::LoadCursor(NULL, IDC_ARROW)); }

class CPaintingWnd : public CWnd {
public:
    int paints = 0;
    CRect paintRect;
    HDC paintDC = NULL;
    afx_msg void OnPaint() {
        CPaintDC dc(this);
        ++paints;
        paintRect = dc.m_ps.rcPaint;
        paintDC = dc.GetSafeHdc();
        dc.FillSolidRect(&dc.m_ps.rcPaint, RGB(0, 128, 255));
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CPaintingWnd, CWnd)
    ON_WM_PAINT()
END_MESSAGE_MAP()

}  // namespace

TEST(CDCWindow, ClientWindowAndPaintDCs) {
    CPaintingWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, DcTestClass(), "dc", WS_POPUP | WS_VISIBLE | WS_BORDER, CRect(10, 10, 130, 90),
                             NULL, 0));
    CRect client;
    wnd.GetClientRect(&client);
    {
        CClientDC dc(&wnd);
        ASSERT_NE(nullptr, dc.GetSafeHdc());
        EXPECT_EQ(&wnd, dc.GetWindow());
        CRect box;
        dc.GetClipBox(&box);
        EXPECT_EQ(client, box);
        EXPECT_EQ(&dc, CDC::FromHandle(dc.GetSafeHdc()));  // attached while it lives
    }
    {
        CWindowDC dc(&wnd);
        CRect box;
        dc.GetClipBox(&box);
        EXPECT_EQ(CRect(0, 0, 120, 80), box);  // the whole window, border included
    }
    {
        CClientDC screen(NULL);
        EXPECT_EQ(::GetDeviceCaps(screen.GetSafeHdc(), HORZRES), screen.GetDeviceCaps(HORZRES));
    }

    wnd.UpdateWindow();
    wnd.paints = 0;
    CRect part(5, 5, 25, 15);
    wnd.InvalidateRect(&part, FALSE);
    wnd.UpdateWindow();
    EXPECT_EQ(1, wnd.paints);
    EXPECT_TRUE(wnd.paintRect.left <= 5 && wnd.paintRect.top <= 5 && wnd.paintRect.right >= 25 &&
                wnd.paintRect.bottom >= 15);
    EXPECT_NE(nullptr, wnd.paintDC);
    CRect remaining;
    EXPECT_FALSE(wnd.GetUpdateRect(&remaining));  // EndPaint validated it
    wnd.DestroyWindow();
    AfxDeleteTempGdiMaps();
}

TEST(CDCDrag, DrawDragRectInvertsTheFrameAndMovesItByTheDifference) {
    DibCanvas canvas(30, 30);
    CanvasDC dc(canvas);
    CBrush white(kWhite);  // white XOR white: the frame turns black
    const COLORREF kBlack = RGB(0, 0, 0);
    // The caller's clip region survives the call.
    dc->IntersectClipRect(0, 0, 25, 30);
    RECT first = {5, 5, 15, 15}, second = {8, 5, 18, 15};
    SIZE thick = {2, 2};
    auto frameOnly = [&](const RECT& r) -> ::testing::AssertionResult {
        for (int y = 0; y < 30; ++y)
            for (int x = 0; x < 30; ++x) {
                bool outer = x >= r.left && x < r.right && y >= r.top && y < r.bottom;
                bool inner = x >= r.left + 2 && x < r.right - 2 && y >= r.top + 2 && y < r.bottom - 2;
                COLORREF want = outer && !inner ? kBlack : kWhite;
                if (canvas.Pixel(x, y) != want)
                    return ::testing::AssertionFailure() << "pixel (" << x << "," << y << ")";
            }
        return ::testing::AssertionSuccess();
    };
    dc->DrawDragRect(&first, thick, NULL, thick, &white);
    EXPECT_TRUE(frameOnly(first)) << "first frame";
    dc->DrawDragRect(&second, thick, &first, thick, &white, &white);
    EXPECT_TRUE(frameOnly(second)) << "moved frame";
    dc->DrawDragRect(&second, thick, NULL, thick, &white);  // drawing it again takes it away
    EXPECT_TRUE(frameOnly(RECT{0, 0, 0, 0})) << "erased";
    RECT box;
    dc->GetClipBox(&box);
    EXPECT_EQ(25, box.right);
    // Without a brush the halftone brush is used: half of the frame's pixels change.
    dc->DrawDragRect(&first, thick, NULL, thick);
    int changed = (10 * 10 - 6 * 6) - canvas.Count(kWhite, RECT{5, 5, 15, 15}) + 36;
    EXPECT_EQ(32, changed);
}

TEST(CDCBrushOrigin, SetBrushOrgShiftsThePattern) {
    DibCanvas canvas(8, 8);
    CanvasDC dc(canvas);
    dc->SetTextColor(RGB(0, 0, 0));
    dc->SetBkColor(kWhite);
    RECT r = {0, 0, 8, 8};
    dc->FillRect(&r, CDC::GetHalftoneBrush());
    COLORREF at0 = canvas.Pixel(0, 0), at1 = canvas.Pixel(1, 0);
    ASSERT_NE(at0, at1);
    EXPECT_EQ(CPoint(0, 0), dc->SetBrushOrg(1, 0));
    EXPECT_EQ(CPoint(1, 0), dc->GetBrushOrg());
    dc->FillRect(&r, CDC::GetHalftoneBrush());
    EXPECT_EQ(at1, canvas.Pixel(0, 0));
    EXPECT_EQ(at0, canvas.Pixel(1, 0));
}

TEST(CDCPaths, FillPathAndClipPath) {
    DibCanvas canvas(20, 20);
    CanvasDC dc(canvas);
    CBrush red(kRed);
    CBrush* old = dc->SelectObject(&red);
    ASSERT_TRUE(dc->BeginPath());
    dc->MoveTo(2, 2);
    dc->LineTo(12, 2);
    dc->LineTo(12, 12);
    dc->LineTo(2, 12);
    dc->CloseFigure();
    ASSERT_TRUE(dc->EndPath());
    ASSERT_TRUE(dc->FillPath());
    EXPECT_EQ(kRed, canvas.Pixel(6, 6));
    EXPECT_EQ(kWhite, canvas.Pixel(15, 15));
    dc->SelectObject(old);

    canvas.Fill(kWhite);
    dc->BeginPath();
    dc->Rectangle(4, 4, 9, 9);
    dc->EndPath();
    ASSERT_TRUE(dc->SelectClipPath(RGN_COPY));
    dc->FillSolidRect(0, 0, 20, 20, kBlue);
    EXPECT_EQ(kBlue, canvas.Pixel(5, 5));
    EXPECT_EQ(kWhite, canvas.Pixel(2, 2));
    EXPECT_EQ(kWhite, canvas.Pixel(12, 12));
    dc->SelectClipRgn(NULL);
}

TEST(CDCLines, CurrentPositionFollowsOnBothHandles) {
    DibCanvas out(20, 20), attrib(20, 20);
    CDC dc;
    dc.m_hDC = out.Dc();
    dc.m_hAttribDC = attrib.Dc();
    dc.MoveTo(1, 1);
    POINT pts[] = {{10, 1}, {10, 8}};
    ASSERT_TRUE(dc.PolylineTo(pts, 2));
    EXPECT_EQ(CPoint(10, 8), dc.GetCurrentPosition());  // read from the attribute DC
    EXPECT_EQ(RGB(0, 0, 0), out.Pixel(5, 1));
    EXPECT_EQ(kWhite, attrib.Pixel(5, 1));
    dc.m_hDC = dc.m_hAttribDC = NULL;
}

TEST(CDCBits, GradientFillRunsFromTheFirstToTheSecondColour) {
    DibCanvas canvas(16, 4);
    CanvasDC dc(canvas);
    TRIVERTEX v[2] = {{0, 0, 0xFF00, 0, 0, 0}, {16, 4, 0, 0, 0xFF00, 0}};
    GRADIENT_RECT mesh = {0, 1};
    ASSERT_TRUE(dc->GradientFill(v, 2, &mesh, 1, GRADIENT_FILL_RECT_H));
    EXPECT_EQ(kRed, canvas.Pixel(0, 2));
    COLORREF last = canvas.Pixel(15, 2);
    EXPECT_GT(GetBValue(last), 200);
    EXPECT_LT(GetRValue(last), 40);
}

TEST(CDCText, ExtTextOutOpaqueAndClippedAndTextAlignment) {
    DibCanvas canvas(60, 20);
    CanvasDC dc(canvas);
    dc->SetBkColor(kBlue);
    dc->SetTextColor(kRed);
    RECT r = {5, 5, 25, 15};
    // Opaque without text: exactly the rectangle takes the background colour.
    ASSERT_TRUE(dc->ExtTextOut(0, 0, ETO_OPAQUE, &r, CString(), NULL));
    EXPECT_TRUE(AreaIs(canvas, r, kBlue, kWhite));
    // Clipped text stays inside its rectangle.
    canvas.Fill(kWhite);
    dc->SetBkMode(TRANSPARENT);
    RECT clip = {0, 0, 6, 20};
    ASSERT_TRUE(dc->ExtTextOut(0, 0, ETO_CLIPPED, &clip, CString("WWWWWW"), NULL));
    EXPECT_GT(canvas.Count(kRed, clip), 0);
    EXPECT_EQ(0, canvas.Count(kRed, RECT{6, 0, 60, 20}));

    // TA_RIGHT: the text ends at x instead of starting there.
    canvas.Fill(kWhite);
    EXPECT_EQ((UINT)(TA_LEFT | TA_TOP | TA_NOUPDATECP), dc->SetTextAlign(TA_RIGHT | TA_TOP));
    EXPECT_EQ((UINT)(TA_RIGHT | TA_TOP), dc->GetTextAlign());
    ASSERT_TRUE(dc->TextOut(30, 2, CString("WW")));
    EXPECT_GT(canvas.Count(kRed, RECT{0, 0, 30, 20}), 0);
    EXPECT_EQ(0, canvas.Count(kRed, RECT{31, 0, 60, 20}));
}

TEST(CDCAttributes, PalettesAndNearestColours) {
    DibCanvas canvas(4, 4);
    CanvasDC dc(canvas);
    // A true-colour surface has every colour.
    EXPECT_EQ(RGB(12, 34, 56), dc->GetNearestColor(RGB(12, 34, 56)));
    EXPECT_EQ(32, dc->GetDeviceCaps(BITSPIXEL));

    struct {
        LOGPALETTE head;
        PALETTEENTRY more[1];
    } pal = {{0x300, 2, {{255, 0, 0, 0}}}, {{0, 0, 255, 0}}};
    CPalette palette;
    ASSERT_TRUE(palette.CreatePalette(&pal.head));
    EXPECT_EQ(2, palette.GetEntryCount());
    CPalette* old = dc->SelectPalette(&palette, FALSE);
    ASSERT_NE(nullptr, old);
    EXPECT_EQ(::GetStockObject(DEFAULT_PALETTE), old->GetSafeHandle());
    EXPECT_EQ(palette.GetSafeHandle(), dc->GetCurrentPalette()->GetSafeHandle());
    dc->RealizePalette();
    EXPECT_EQ(nullptr, dc->SelectPalette(NULL, FALSE));  // nothing to select
    dc->SelectPalette(old, FALSE);
    EXPECT_EQ(old->GetSafeHandle(), dc->GetCurrentPalette()->GetSafeHandle());
}

TEST(CDCAttributes, DCBrushAndPenColours) {
    DibCanvas canvas(10, 10);
    CanvasDC dc(canvas);
    dc->SelectStockObject(DC_BRUSH);
    dc->SelectStockObject(DC_PEN);
    dc->SetDCBrushColor(kGreen);
    EXPECT_EQ(kGreen, dc->GetDCBrushColor());
    dc->SetDCPenColor(kBlue);
    EXPECT_EQ(kBlue, dc->GetDCPenColor());
    dc->Rectangle(1, 1, 8, 8);
    EXPECT_EQ(kBlue, canvas.Pixel(1, 1));   // the frame in the pen colour
    EXPECT_EQ(kGreen, canvas.Pixel(4, 4));  // the inside in the brush colour
    EXPECT_EQ(kWhite, canvas.Pixel(9, 9));
}

TEST(CDCMetaFiles, EnhancedMetaFilePlaysStretchedOverItsBounds) {
    // Recorded: a 10x10 picture, red on the left half and blue on the right.
    HDC rec = ::CreateEnhMetaFile(NULL, NULL, NULL, NULL);
    ASSERT_NE(nullptr, rec);
    CDC recDC;
    recDC.Attach(rec);
    CBrush red(kRed), blue(kBlue);
    RECT left = {0, 0, 5, 10}, right = {5, 0, 10, 10};
    recDC.FillRect(&left, &red);
    recDC.FillRect(&right, &blue);
    HENHMETAFILE emf = ::CloseEnhMetaFile(recDC.Detach());
    ASSERT_NE(nullptr, emf);

    DibCanvas canvas(40, 20);
    CanvasDC dc(canvas);
    RECT bounds = {0, 0, 40, 20};
    ASSERT_TRUE(dc->PlayMetaFile(emf, &bounds));
    EXPECT_EQ(kRed, canvas.Pixel(2, 10));
    EXPECT_EQ(kRed, canvas.Pixel(15, 10));
    EXPECT_EQ(kBlue, canvas.Pixel(25, 10));
    EXPECT_EQ(kBlue, canvas.Pixel(38, 10));
    ::DeleteEnhMetaFile(emf);
}
