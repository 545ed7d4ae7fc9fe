// GDI object wrappers: ownership of handles, the typed temporary wrappers of
// FromHandle, object creation read back through the platform, and region arithmetic.
#include <gtest/gtest.h>
#include "framework/dc.h"
#include "framework/exceptions.h"
#include "support/dib_canvas.h"

using testsupport::DibCanvas;

TEST(CGdiObjectOwnership, DestructorDeletesUnlessDetached) {
    HGDIOBJ h;
    {
        CBrush brush(RGB(1, 2, 3));
        h = brush.GetSafeHandle();
        ASSERT_NE(nullptr, h);
        EXPECT_EQ((DWORD)OBJ_BRUSH, ::GetObjectType(h));
    }
    EXPECT_EQ(0u, ::GetObjectType(h));

    HGDIOBJ kept;
    {
        CPen pen(PS_SOLID, 2, RGB(4, 5, 6));
        kept = pen.Detach();
        EXPECT_EQ(nullptr, pen.GetSafeHandle());
    }
    EXPECT_EQ((DWORD)OBJ_PEN, ::GetObjectType(kept));
    CPen again;
    EXPECT_TRUE(again.Attach(kept));
    EXPECT_EQ(&again, CGdiObject::FromHandle(kept));
    EXPECT_TRUE(again.DeleteObject());
    EXPECT_FALSE(again.DeleteObject());
    EXPECT_EQ(0u, ::GetObjectType(kept));
    CFont* none = nullptr;
    __asm__("" : "+r"(none));  // as if it came from elsewhere
    EXPECT_EQ(nullptr, none->GetSafeHandle());
}

TEST(CGdiObjectOwnership, FromHandleMakesTypedTemporaries) {
    HFONT hFont = (HFONT)::GetStockObject(DEFAULT_GUI_FONT);
    HBRUSH hBrush = ::CreateSolidBrush(RGB(9, 9, 9));
    HRGN hRgn = ::CreateRectRgn(0, 0, 4, 4);
    struct Case {
        const char* name;
        HGDIOBJ h;
        CRuntimeClass* cls;
    } cases[] = {
        {"font", hFont, RUNTIME_CLASS(CFont)},
        {"brush", hBrush, RUNTIME_CLASS(CBrush)},
        {"region", hRgn, RUNTIME_CLASS(CRgn)},
        {"pen", ::GetStockObject(BLACK_PEN), RUNTIME_CLASS(CPen)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CGdiObject* p = CGdiObject::FromHandle(c.h);
        ASSERT_NE(nullptr, p);
        EXPECT_EQ(c.cls, p->GetRuntimeClass());
        EXPECT_EQ(c.h, p->m_hObject);
        EXPECT_EQ(p, CGdiObject::FromHandle(c.h));
    }
    EXPECT_EQ(nullptr, CGdiObject::FromHandle(NULL));
    AfxDeleteTempGdiMaps();
    // Temporary wrappers never delete what they wrap.
    EXPECT_EQ((DWORD)OBJ_BRUSH, ::GetObjectType(hBrush));
    EXPECT_EQ((DWORD)OBJ_REGION, ::GetObjectType(hRgn));
    ::DeleteObject(hBrush);
    ::DeleteObject(hRgn);
}

TEST(CGdiObjectOwnership, ThrowingConstructorsReportResourceFailure) {
    bool thrown = false;
    try {
        CBrush bad((CBitmap*)nullptr);
    } catch (CResourceException* e) {
        thrown = true;
        e->Delete();
    }
    EXPECT_TRUE(thrown);
}

TEST(CGdiObjects, CreatedObjectsReadBack) {
    CPen pen;
    ASSERT_TRUE(pen.CreatePen(PS_DASH, 1, RGB(10, 20, 30)));
    LOGPEN lp;
    ASSERT_NE(0, pen.GetLogPen(&lp));
    EXPECT_EQ((UINT)PS_DASH, lp.lopnStyle);
    EXPECT_EQ(RGB(10, 20, 30), lp.lopnColor);

    CBrush hatch;
    ASSERT_TRUE(hatch.CreateHatchBrush(HS_CROSS, RGB(1, 1, 1)));
    LOGBRUSH lb;
    ASSERT_NE(0, hatch.GetLogBrush(&lb));
    EXPECT_EQ((UINT)BS_HATCHED, lb.lbStyle);
    EXPECT_EQ((ULONG_PTR)HS_CROSS, lb.lbHatch);

    CBrush sys;
    ASSERT_TRUE(sys.CreateSysColorBrush(COLOR_WINDOW));
    ASSERT_NE(0, sys.GetLogBrush(&lb));
    EXPECT_EQ(::GetSysColor(COLOR_WINDOW), lb.lbColor);

    LOGFONT lf = {};
    lf.lfHeight = -13;
    lf.lfWeight = FW_BOLD;
    lstrcpy(lf.lfFaceName, "Tahoma");
    CFont font;
    ASSERT_TRUE(font.CreateFontIndirect(&lf));
    LOGFONT back;
    ASSERT_NE(0, font.GetLogFont(&back));
    EXPECT_EQ(-13, back.lfHeight);
    EXPECT_EQ(FW_BOLD, back.lfWeight);
    EXPECT_STREQ("Tahoma", back.lfFaceName);

    LOGPALETTE* pal = (LOGPALETTE*)malloc(sizeof(LOGPALETTE) + 3 * sizeof(PALETTEENTRY));
    pal->palVersion = 0x300;
    pal->palNumEntries = 4;
    for (int i = 0; i < 4; ++i) pal->palPalEntry[i] = PALETTEENTRY{(BYTE)(i * 10), 0, 0, 0};
    CPalette palette;
    ASSERT_TRUE(palette.CreatePalette(pal));
    free(pal);
    EXPECT_EQ(4, palette.GetEntryCount());
    PALETTEENTRY pe[4];
    EXPECT_EQ(4u, palette.GetPaletteEntries(0, 4, pe));
    EXPECT_EQ(30, pe[3].peRed);
    EXPECT_EQ(3u, palette.GetNearestPaletteIndex(RGB(29, 0, 0)));
}

TEST(CGdiObjects, PointFontHeightFollowsTheDevice) {
    CFont font;
    ASSERT_TRUE(font.CreatePointFont(90, "Tahoma"));
    LOGFONT lf;
    ASSERT_NE(0, font.GetLogFont(&lf));
    HDC screen = ::GetDC(NULL);
    int dpi = ::GetDeviceCaps(screen, LOGPIXELSY);
    ::ReleaseDC(NULL, screen);
    EXPECT_EQ(-::MulDiv(dpi, 90, 720), lf.lfHeight);
    EXPECT_STREQ("Tahoma", lf.lfFaceName);

    // A DC in MM_TWIPS (1/1440 inch, y upward): the height is in twips.
    DibCanvas canvas(4, 4);
    CDC dc;
    dc.Attach(canvas.Dc());
    dc.SetMapMode(MM_TWIPS);
    CFont twips;
    ASSERT_TRUE(twips.CreatePointFont(120, "Tahoma", &dc));
    ASSERT_NE(0, twips.GetLogFont(&lf));
    int px = ::MulDiv(dc.GetDeviceCaps(LOGPIXELSY), 120, 720);
    EXPECT_NEAR(-px * 1440 / dc.GetDeviceCaps(LOGPIXELSY), lf.lfHeight, 15);
    EXPECT_LT(lf.lfHeight, 0);
    dc.SetMapMode(MM_TEXT);
    dc.Detach();
}

TEST(CGdiObjects, BitmapsAndDibSections) {
    CBitmap mono;
    ASSERT_TRUE(mono.CreateBitmap(16, 8, 1, 1, NULL));
    BITMAP bm;
    ASSERT_NE(0, mono.GetBitmap(&bm));
    EXPECT_EQ(16, bm.bmWidth);
    EXPECT_EQ(8, bm.bmHeight);
    EXPECT_EQ(1, bm.bmBitsPixel);

    DibCanvas screenLike(2, 2);
    CDC dc;
    dc.Attach(screenLike.Dc());
    CBitmap compat;
    ASSERT_TRUE(compat.CreateCompatibleBitmap(&dc, 5, 6));
    ASSERT_NE(0, compat.GetBitmap(&bm));
    EXPECT_EQ(5, bm.bmWidth);
    EXPECT_EQ(32, bm.bmBitsPixel);  // compatible with the 32-bit DIB selected in the DC
    dc.Detach();

    // A DIB section attached: GetBitmap reports its bits.
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bi.bmiHeader.biWidth = 3;
    bi.bmiHeader.biHeight = 3;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP hDib = ::CreateDIBSection(NULL, &bi, DIB_RGB_COLORS, &bits, NULL, 0);
    ASSERT_NE(nullptr, hDib);
    CBitmap dib;
    ASSERT_TRUE(dib.Attach(hDib));
    ASSERT_NE(0, dib.GetBitmap(&bm));
    EXPECT_EQ(bits, bm.bmBits);
    EXPECT_EQ(32, bm.bmBitsPixel);
    EXPECT_EQ(dib.GetSafeHandle(), (HGDIOBJ)(HBITMAP)dib);

    // Pattern brush from a bitmap.
    CBrush pattern;
    EXPECT_TRUE(pattern.CreatePatternBrush(&mono));
    EXPECT_FALSE(CBrush().CreatePatternBrush(NULL));
}

TEST(CRgnOperations, CombineCopyOffsetAndHitTest) {
    CRgn a, b, r;
    ASSERT_TRUE(a.CreateRectRgn(0, 0, 10, 10));
    ASSERT_TRUE(b.CreateRectRgn(5, 5, 15, 15));
    ASSERT_TRUE(r.CreateRectRgn(0, 0, 0, 0));
    CRect box;
    struct Case {
        const char* name;
        int mode;
        int type;
        CRect box;
        POINT in, out;
    } cases[] = {
        {"and", RGN_AND, SIMPLEREGION, CRect(5, 5, 10, 10), {7, 7}, {2, 2}},
        {"or", RGN_OR, COMPLEXREGION, CRect(0, 0, 15, 15), {2, 2}, {12, 2}},
        {"xor", RGN_XOR, COMPLEXREGION, CRect(0, 0, 15, 15), {12, 12}, {7, 7}},
        {"diff", RGN_DIFF, COMPLEXREGION, CRect(0, 0, 10, 10), {2, 7}, {7, 7}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.type, r.CombineRgn(&a, &b, c.mode));
        EXPECT_EQ(c.type, r.GetRgnBox(&box));
        EXPECT_EQ(c.box, box);
        EXPECT_TRUE(r.PtInRegion(c.in));
        EXPECT_FALSE(r.PtInRegion(c.out.x, c.out.y));
    }
    EXPECT_EQ(NULLREGION, r.CombineRgn(&a, &a, RGN_DIFF));
    EXPECT_EQ(ERROR, r.CombineRgn(&a, NULL, RGN_AND));

    CRgn copy;
    copy.CreateRectRgn(0, 0, 1, 1);
    EXPECT_EQ(SIMPLEREGION, copy.CopyRgn(&a));
    EXPECT_TRUE(copy.EqualRgn(&a));
    EXPECT_EQ(SIMPLEREGION, copy.OffsetRgn(3, -2));
    copy.GetRgnBox(&box);
    EXPECT_EQ(CRect(3, -2, 13, 8), box);
    EXPECT_FALSE(copy.EqualRgn(&a));
    EXPECT_EQ(SIMPLEREGION, copy.OffsetRgn(CPoint(-3, 2)));
    EXPECT_TRUE(copy.EqualRgn(&a));
    RECT probe = {9, 9, 20, 20};
    EXPECT_TRUE(a.RectInRegion(&probe));
    copy.SetRectRgn(1, 1, 2, 2);
    copy.GetRgnBox(&box);
    EXPECT_EQ(CRect(1, 1, 2, 2), box);
}

TEST(CRgnOperations, ShapedRegionsAndTheirPainting) {
    CRgn round, ellipse, poly;
    ASSERT_TRUE(round.CreateRoundRectRgn(0, 0, 20, 20, 10, 10));
    EXPECT_FALSE(round.PtInRegion(0, 0));
    EXPECT_TRUE(round.PtInRegion(10, 0));
    EXPECT_TRUE(round.PtInRegion(10, 10));
    RECT er = {0, 0, 20, 10};
    ASSERT_TRUE(ellipse.CreateEllipticRgnIndirect(&er));
    EXPECT_TRUE(ellipse.PtInRegion(10, 5));
    EXPECT_FALSE(ellipse.PtInRegion(1, 1));
    POINT tri[3] = {{0, 0}, {10, 0}, {0, 10}};
    ASSERT_TRUE(poly.CreatePolygonRgn(tri, 3, ALTERNATE));
    EXPECT_TRUE(poly.PtInRegion(2, 2));
    EXPECT_FALSE(poly.PtInRegion(8, 8));

    // FillRgn and FrameRgn paint exactly the region and its border.
    DibCanvas canvas(20, 20);
    CDC dc;
    dc.Attach(canvas.Dc());
    CRgn square;
    square.CreateRectRgn(2, 2, 10, 10);
    CBrush red(RGB(255, 0, 0)), blue(RGB(0, 0, 255));
    EXPECT_TRUE(dc.FillRgn(&square, &red));
    EXPECT_EQ(64, canvas.Count(RGB(255, 0, 0), RECT{0, 0, 20, 20}));
    EXPECT_TRUE(dc.FrameRgn(&square, &blue, 1, 1));
    EXPECT_EQ(28, canvas.Count(RGB(0, 0, 255), RECT{0, 0, 20, 20}));
    EXPECT_EQ(36, canvas.Count(RGB(255, 0, 0), RECT{0, 0, 20, 20}));
    dc.Detach();
}

namespace {
DWORD WINAPI WorkerUsingTemporaries(LPVOID param) {
    HGDIOBJ h = (HGDIOBJ)param;
    // Another thread has its own maps: the main thread's owner is not seen here.
    CGdiObject* temp = CGdiObject::FromHandle(h);
    DWORD ok = temp != nullptr && temp->m_hObject == h && temp->IsKindOf(RUNTIME_CLASS(CBrush));
    AfxTermThreadGdiMaps();
    return ok;
}
}  // namespace

TEST(CGdiObjectOwnership, TemporariesBelongToTheirThread) {
    CBrush owner(RGB(7, 7, 7));
    HANDLE thread = ::CreateThread(NULL, 0, WorkerUsingTemporaries, owner.m_hObject, 0, NULL);
    ASSERT_NE(nullptr, thread);
    ASSERT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(thread, 5000));
    DWORD code = 0;
    ::GetExitCodeThread(thread, &code);
    ::CloseHandle(thread);
    EXPECT_EQ(1u, code);
    EXPECT_EQ(&owner, CGdiObject::FromHandle(owner.m_hObject));
    EXPECT_EQ((DWORD)OBJ_BRUSH, ::GetObjectType(owner.m_hObject));  // the worker's temporary left it alone
}

TEST(CGdiObjects, MappedBitmapTakesTheButtonColoursOfTheSystem) {
    CBitmap bmp;
    ASSERT_TRUE(bmp.LoadMappedBitmap(5401));
    BITMAP bm;
    ASSERT_NE(0, bmp.GetBitmap(&bm));
    EXPECT_EQ(5, bm.bmWidth);
    EXPECT_EQ(2, bm.bmHeight);
    CDC dc;
    ASSERT_TRUE(dc.CreateCompatibleDC(NULL));
    CBitmap* old = dc.SelectObject(&bmp);
    struct {
        const char* name;
        COLORREF want;
    } cases[] = {
        {"black", ::GetSysColor(COLOR_BTNTEXT)},    {"grey", ::GetSysColor(COLOR_BTNSHADOW)},
        {"silver", ::GetSysColor(COLOR_BTNFACE)},   {"white", ::GetSysColor(COLOR_BTNHIGHLIGHT)},
        {"red (not mapped)", RGB(255, 0, 0)},
    };
    for (int x = 0; x < 5; ++x) EXPECT_EQ(cases[x].want, dc.GetPixel(x, 1)) << cases[x].name;
    dc.SelectObject(old);

    CBitmap missing;
    EXPECT_FALSE(missing.LoadMappedBitmap(5499));
    EXPECT_EQ(nullptr, missing.GetSafeHandle());

    // Loaded plainly, the same resource keeps its own colours.
    CBitmap plain;
    ASSERT_TRUE(plain.LoadBitmap(5401));
    old = dc.SelectObject(&plain);
    const COLORREF own[] = {RGB(0, 0, 0), RGB(128, 128, 128), RGB(192, 192, 192), RGB(255, 255, 255),
                            RGB(255, 0, 0)};
    for (int x = 0; x < 5; ++x) EXPECT_EQ(own[x], dc.GetPixel(x, 0)) << cases[x].name;
    dc.SelectObject(old);
    EXPECT_FALSE(missing.LoadBitmap(5499));
    EXPECT_FALSE(missing.LoadBitmap("NO_SUCH_BITMAP"));
}
