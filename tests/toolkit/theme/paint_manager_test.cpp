// The paint-manager objects and their static services: theme identities and dynamic
// creation, constructor values, the halftone palette, the fixed answers of the table,
// monitors and placement, text measuring, DLL versions, transparent children, window
// printing, the text colour icon and pumping paint messages.
#include <gtest/gtest.h>
#include "theme_test_support.h"
#include "toolkit/theme/pm_glyphs.h"
#include "support/dib_canvas.h"
#include "support/message_pump.h"
#include "toolkit/core/cmd_icon.h"

using testsupport::DibCanvas;

TEST(PaintManagerObject, ThemeIdentitiesAndKinds)
{
    struct Case
    {
        CRuntimeClass* pClass;
        int nId;
        int nStyle;
    } cases[] = {{RUNTIME_CLASS(CExtPaintManager), 29901, 6},
                 {RUNTIME_CLASS(CExtPaintManagerXP), 29902, 1},
                 {RUNTIME_CLASS(CExtPaintManagerOffice2003), 29903, 1},
                 {RUNTIME_CLASS(CExtPaintManagerStudio2005), 29905, 1}};
    for (const Case& c : cases)
    {
        CObject* pObj = c.pClass->CreateObject();
        ASSERT_NE(nullptr, pObj) << c.pClass->m_lpszClassName;
        CExtPaintManager* pPM = static_cast<CExtPaintManager*>(pObj);
        EXPECT_EQ(c.nId, pPM->GetThemeId()) << c.pClass->m_lpszClassName;
        EXPECT_EQ(c.nStyle, pPM->GetThemeStyleValue()) << c.pClass->m_lpszClassName;
        EXPECT_TRUE(pObj->IsKindOf(RUNTIME_CLASS(CExtPaintManager)));
        EXPECT_EQ(c.pClass, pObj->GetRuntimeClass());
        delete pObj;
    }
    CExtPaintManagerStudio2005 studio;
    EXPECT_TRUE(studio.IsKindOf(RUNTIME_CLASS(CExtPaintManagerOffice2003)));
    EXPECT_TRUE(studio.IsKindOf(RUNTIME_CLASS(CExtPaintManagerXP)));
    EXPECT_EQ(RUNTIME_CLASS(CExtPaintManagerStudio2005),
              CRuntimeClass::FromName("CExtPaintManagerStudio2005"));
}

TEST(PaintManagerObject, ConstructorsSetTheirFields)
{
    CExtPaintManager base;
    EXPECT_EQ(-1, base.m_nReservedIndex);
    EXPECT_EQ(32, base.m_nThemeValue);
    EXPECT_EQ(3, base.m_nDockMarkerStyle);
    EXPECT_EQ(0, base.m_nScrollBarFlags & 0x01);
    EXPECT_EQ((g_CurrentPaintManager.m_nOsFlags2 & 0x04) != 0, (base.m_nOptionFlags & 0x01) != 0);
    EXPECT_FALSE(base.IsParentBackgroundOn());
    EXPECT_EQ(0, base.GetColorTableSize());  // nothing is read before the install

    CExtPaintManagerXP xp;
    EXPECT_EQ(0x03, xp.m_nXpFlags & 0x07);
    EXPECT_EQ(-1, xp.m_nIdxClrMlaNormLeft);
    EXPECT_EQ(-1, xp.m_nIdxClrBtnHoverLeft);
    EXPECT_EQ(-1, xp.m_nIdxClrBtnDropArrowEnabled);

    CExtPaintManagerOffice2003 office;
    EXPECT_EQ(0x04, office.m_nXpFlags & 0x07);
    // In member order: each set's leading, trailing and middle colour.
    const int first[6] = {office.m_nIdxClrMlaNormLeft,   office.m_nIdxClrMlaNormRight,
                          office.m_nIdxClrMlaNormMiddle, office.m_nIdxClrMlaRarelyLeft,
                          office.m_nIdxClrMlaRarelyRight, office.m_nIdxClrMlaRarelyMiddle};
    const int expected[6] = {3015, 3017, 3016, 3018, 3020, 3019};
    for (int i = 0; i < 6; i++)
        EXPECT_EQ(expected[i], first[i]) << "member " << i;
    EXPECT_EQ(-1, office.m_nIdxClrTbBorder);

    // The chevron glyphs (drop arrow and chevron, horizontal and vertical bar).
    struct GlyphCase
    {
        const char* sTheme;
        const CExtPaintManager::glyph* p;
        int cx, cy;
    } glyphs[] = {{"XP drop", xp.m_pGlyphMenuDropHorz, 5, 3},
                  {"XP chevron", xp.m_pGlyphMenuChevronHorz, 8, 5},
                  {"XP vertical drop", xp.m_pGlyphMenuDropVert, 3, 5},
                  {"XP vertical chevron", xp.m_pGlyphMenuChevronVert, 5, 8},
                  {"Office drop", office.m_pGlyphMenuDropHorz, 5, 6},
                  {"Office chevron", office.m_pGlyphMenuChevronHorz, 6, 5},
                  {"Office vertical drop", office.m_pGlyphMenuDropVert, 6, 5},
                  {"Office vertical chevron", office.m_pGlyphMenuChevronVert, 5, 6}};
    for (const GlyphCase& g : glyphs)
    {
        ASSERT_NE(nullptr, g.p) << g.sTheme;
        EXPECT_EQ(g.cx, g.p->GetWidth()) << g.sTheme;
        EXPECT_EQ(g.cy, g.p->GetHeight()) << g.sTheme;
    }
    // The vertical arrows are the horizontal ones turned: XP by 90, Office 2003 by 270.
    for (int y = 0; y < 3; y++)
        for (int x = 0; x < 5; x++)
            EXPECT_EQ(xp.m_pGlyphMenuDropHorz->GetAt(x, y),
                      xp.m_pGlyphMenuDropVert->GetAt(2 - y, x))
                << "XP " << x << "," << y;
    for (int y = 0; y < 6; y++)
        for (int x = 0; x < 5; x++)
            EXPECT_EQ(office.m_pGlyphMenuDropHorz->GetAt(x, y),
                      office.m_pGlyphMenuDropVert->GetAt(y, 4 - x))
                << "Office " << x << "," << y;
    CExtPaintManagerStudio2005 studio;
    EXPECT_EQ(office.m_pGlyphMenuChevronVert, studio.m_pGlyphMenuChevronVert);
}

TEST(PaintManagerObject, HalftonePaletteHas252Entries)
{
    CExtPaintManager pm;
    PALETTEENTRY pe[252];
    ASSERT_EQ(252u, ::GetPaletteEntries((HPALETTE)pm.m_PaletteWide.GetSafeHandle(), 0, 252, pe));
    EXPECT_EQ(0, pe[0].peRed + pe[0].peGreen + pe[0].peBlue);
    EXPECT_EQ(255, pe[251].peRed);
    EXPECT_EQ(255, pe[251].peGreen);
    EXPECT_EQ(255, pe[251].peBlue);
    EXPECT_EQ(42, pe[36].peRed);
    EXPECT_EQ(0, pe[36].peGreen);
    EXPECT_EQ(0, pe[36].peBlue);
    EXPECT_EQ(51, pe[6].peGreen);  // green steps by 51 inside each red block
    EXPECT_EQ(102, pe[2].peBlue);
    EXPECT_EQ(0, pe[100].peFlags);
}

TEST(PaintManagerObject, FixedAnswersOfTheOperationTable)
{
    CExtPaintManager base;
    CExtPaintManagerXP xp;
    CExtPaintManagerOffice2003 office;
    CExtPaintManagerStudio2005 studio;
    CExtPaintManager* all[4] = {&base, &xp, &office, &studio};
    const bool q101[4] = {false, true, true, true};
    const bool q102[4] = {false, true, false, false};
    const int pushed[4] = {1, 0, 0, 0};
    for (int i = 0; i < 4; i++)
    {
        CExtPaintManager* p = all[i];
        EXPECT_EQ(q101[i], p->ReservedQuery101()) << i;
        EXPECT_EQ(q102[i], p->ReservedQuery102()) << i;
        EXPECT_EQ(pushed[i], p->GetPushedOffset().cx) << i;
        EXPECT_EQ(pushed[i], p->GetPushedOffset().cy) << i;
        EXPECT_EQ(6, p->ReservedSize83().cx) << i;
        EXPECT_EQ(15, p->GetComboDropDownButtonWidth()) << i;
        EXPECT_EQ(15, p->GetPanelSysColorIndex()) << i;
        EXPECT_EQ(-1, p->ReservedQuery22()) << i;
        EXPECT_EQ(-1, p->ReservedQuery168()) << i;
        EXPECT_EQ(0, p->ReservedQuery26()) << i;
        EXPECT_FALSE(p->ReservedQuery17()) << i;
        EXPECT_FALSE(p->ReservedQuery179()) << i;
        EXPECT_FALSE(p->ReservedQuery180()) << i;
        EXPECT_FALSE(p->ReservedQuery20()) << i;
        EXPECT_EQ(-1, p->ReservedQuery23()) << i;
        EXPECT_EQ(-1, p->ReservedQuery24()) << i;
        EXPECT_EQ(-1, p->ReservedQuery25()) << i;
        const SIZE s27 = p->ReservedQuery27();
        EXPECT_EQ(0, s27.cx) << i;
        EXPECT_EQ(0, s27.cy) << i;
        EXPECT_EQ(0, p->ReservedQuery29()) << i;
        EXPECT_FALSE(p->ReservedQuery30()) << i;
        EXPECT_FALSE(p->ReservedQuery31()) << i;
        EXPECT_FALSE(p->ReservedQuery32()) << i;
        EXPECT_FALSE(p->ReservedQuery33()) << i;
        EXPECT_FALSE(p->ReservedQuery34()) << i;
        EXPECT_FALSE(p->ReservedQuery35()) << i;
        EXPECT_FALSE(p->ReservedQuery36()) << i;
        EXPECT_FALSE(p->ReservedQuery37()) << i;
        EXPECT_EQ(0, p->ReservedQuery38()) << i;
        EXPECT_EQ(6, p->ReservedSize83().cy) << i;
        EXPECT_FALSE(p->ReservedQuery171()) << i;
        EXPECT_FALSE(p->ReservedQuery175()) << i;
        EXPECT_FALSE(p->ReservedQuery176()) << i;
        p->ReservedHook19();
        p->ReservedHook28();
        p->ReservedHook178();
        EXPECT_FALSE(p->QueryTabWndOption(NULL)) << i;
        LONG nMetric = 77;
        EXPECT_FALSE(p->QueryTabWndMetric(nMetric, 0, NULL)) << i;
        EXPECT_EQ(77, nMetric) << i;
        EXPECT_EQ(g_CurrentPaintManager.m_nLunaColorScheme, p->GetLunaColorScheme()) << i;
        const RECT r21 = p->ReservedQuery21();
        EXPECT_TRUE(::IsRectEmpty(&r21)) << i;
        EXPECT_FALSE(p->IsThemedFrameSupported(NULL)) << i;
        EXPECT_EQ((HRGN)NULL, p->GetThemedFrameRgn(NULL, RECT{0, 0, 1, 1})) << i;
        EXPECT_EQ(nullptr, p->GetScrollBarSkin(true, NULL, 0, false)) << i;
        EXPECT_EQ(13, p->GetCheckBoxSize().cx) << i;
        EXPECT_EQ(4, p->GetMenuShadowSize()) << i;
        EXPECT_EQ(3, p->GetTipShadowSize()) << i;
        EXPECT_EQ(8, p->GetMenuTearOffCaptionHeight()) << i;
        EXPECT_EQ(COLORREF(-1), p->GetLunaDerivedColor()) << i;  // no visual styles here
    }
    EXPECT_EQ(COLORREF(-1), base.GetDisabledIconColor());
    EXPECT_DOUBLE_EQ(0.0, base.GetDisabledIconAlpha());
    EXPECT_FALSE(base.UsesLunaColors());
    RECT rc;
    EXPECT_FALSE(base.GetMiniFrameCaptionRect(rc, NULL));
    base.GetDockMarkerMargins(rc);
    EXPECT_EQ(5, rc.left);
    EXPECT_FALSE(base.IsDockMarkerStyle1());
}

TEST(StaticServices, PlacementKeepsARectangleOnItsBounds)
{
    const RECT rcB = {0, 0, 60, 100};
    struct Case
    {
        RECT in;
        bool bInside;
        RECT out;
    } cases[] = {
        {{80, 10, 90, 20}, false, {50, 10, 60, 20}},     // wholly right: right edge on the bound
        {{10, 150, 20, 160}, false, {10, 90, 20, 100}},  // wholly below
        {{-30, 10, -20, 20}, false, {0, 10, 10, 20}},    // wholly left
        {{10, -50, 20, -40}, false, {10, 0, 20, 10}},    // wholly above
        {{55, 10, 65, 20}, false, {55, 10, 65, 20}},     // partly out: unchanged without flag
        {{55, 10, 65, 20}, true, {50, 10, 60, 20}},
        {{-20, 0, 80, 10}, true, {0, 0, 100, 10}},       // larger than the bounds: left aligned
    };
    for (const Case& c : cases)
    {
        RECT out = CExtPaintManager::FitRectIntoBounds(c.in, rcB, c.bInside);
        EXPECT_TRUE(::EqualRect(&c.out, &out))
            << c.in.left << "," << c.in.top << " -> " << out.left << "," << out.top << ","
            << out.right << "," << out.bottom;
    }
}

TEST(StaticServices, MonitorDataAndPlacementOnTheRealMonitor)
{
    CExtPaintManager::MONITORDATA mdDesktop, mdPoint, mdNull;
    CExtPaintManager::MonitorDataFromDesktop(mdDesktop);
    RECT rcDesktop;
    ::GetWindowRect(::GetDesktopWindow(), &rcDesktop);
    EXPECT_TRUE(::EqualRect(&rcDesktop, &mdDesktop.m_rcMonitor));
    EXPECT_TRUE(mdDesktop.IsPrimary());
    POINT pt = {10, 10};
    CExtPaintManager::MonitorDataFromPoint(mdPoint, pt);
    EXPECT_TRUE(mdPoint.IsPrimary());
    EXPECT_TRUE(::PtInRect(&mdPoint.m_rcMonitor, pt));
    RECT rcWork;
    ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &rcWork, 0);
    EXPECT_TRUE(::EqualRect(&rcWork, &mdPoint.m_rcWorkArea));
    CExtPaintManager::MonitorDataFromWnd(mdNull, NULL);
    EXPECT_FALSE(::IsRectEmpty(&mdNull.m_rcMonitor));

    RECT rcFar = {rcWork.right + 100, 20, rcWork.right + 150, 60};
    RECT out = CExtPaintManager::FitRectIntoMonitor(rcFar, true, false);
    EXPECT_EQ(rcWork.right, out.right);
    EXPECT_EQ(50, out.right - out.left);
    out = CExtPaintManager::FitRectIntoMonitor(rcFar, true, true);
    EXPECT_LE(out.right, rcWork.right);
    EXPECT_GE(out.left, rcWork.left);
}

TEST(StaticServices, TextIsMeasuredAtTheOrigin)
{
    CExtPaintManager* pPM = themetest::InstallTheme(RUNTIME_CLASS(CExtPaintManagerXP));
    DibCanvas canvas(50, 50);
    CDC* pDC = CDC::FromHandle(canvas.Dc());
    HGDIOBJ hOld = ::SelectObject(canvas.Dc(), pPM->m_FontNormal.GetSafeHandle());
    SIZE sz;
    ::GetTextExtentPoint32A(canvas.Dc(), "Hello", 5, &sz);
    ::SelectObject(canvas.Dc(), hOld);
    RECT rc;
    CExtPaintManager::MeasureText(rc, *pDC, &pPM->m_FontNormal, "Hello", DT_SINGLELINE);
    EXPECT_EQ(0, rc.left);
    EXPECT_EQ(0, rc.top);
    EXPECT_EQ(sz.cx, rc.right);
    EXPECT_EQ(sz.cx, CExtPaintManager::MeasureTextWidth(*pDC, &pPM->m_FontNormal, "Hello"));
    // The DC keeps its own font.
    EXPECT_EQ(::GetStockObject(SYSTEM_FONT), ::GetCurrentObject(canvas.Dc(), OBJ_FONT));
    // Tabs are expanded.
    RECT rcTab;
    CExtPaintManager::MeasureText(rcTab, *pDC, &pPM->m_FontNormal, "a\tb", DT_SINGLELINE);
    RECT rcNoTab;
    CExtPaintManager::MeasureText(rcNoTab, *pDC, &pPM->m_FontNormal, "ab", DT_SINGLELINE);
    EXPECT_GT(rcTab.right, rcNoTab.right + 10);
}

TEST(StaticServices, DllVersionProbe)
{
    const DWORD dwComCtl = CExtPaintManager::QueryDllVersion("COMCTL32.DLL");
    EXPECT_GE(HIWORD(dwComCtl), 5);
    EXPECT_EQ(0u, CExtPaintManager::QueryDllVersion("kernel32.dll"));  // no DllGetVersion
    EXPECT_EQ(0u, CExtPaintManager::QueryDllVersion("no_such_library_here.dll"));
}

TEST(StaticServices, TransparentChildren)
{
    struct Case
    {
        const char* sClass;
        DWORD dwStyle;
        bool bExpected;
    } cases[] = {{"Static", 0, true},
                 {"SysTabControl32", 0, true},
                 {"msctls_trackbar32", 0, true},
                 {"Button", BS_PUSHBUTTON, true},
                 {"Button", BS_GROUPBOX, true},
                 {"Button", BS_AUTORADIOBUTTON, true},
                 {"Button", BS_OWNERDRAW, false},
                 {"Button", BS_PUSHBOX, false},
                 {"Edit", 0, false}};
    ::InitCommonControls();
    HWND hParent = ::CreateWindowExA(0, "Static", "", WS_POPUP, 0, 0, 100, 100, NULL, NULL,
                                     ::GetModuleHandleA(NULL), NULL);
    const BYTE nSaved = g_CurrentPaintManager.m_nOsFlags2;
    g_CurrentPaintManager.m_nOsFlags2 &= ~0x10;
    for (const Case& c : cases)
    {
        HWND hWnd = ::CreateWindowExA(0, c.sClass, "", WS_CHILD | c.dwStyle, 0, 0, 10, 10,
                                      hParent, NULL, ::GetModuleHandleA(NULL), NULL);
        ASSERT_NE((HWND)NULL, hWnd) << c.sClass;
        EXPECT_EQ(c.bExpected, CExtPaintManager::IsTransparentChild(hWnd))
            << c.sClass << " style " << c.dwStyle;
        if (::lstrcmpA(c.sClass, "Button") == 0)
        {
            g_CurrentPaintManager.m_nOsFlags2 |= 0x10;  // taskband colours were read
            EXPECT_TRUE(CExtPaintManager::IsTransparentChild(hWnd)) << c.dwStyle;
            g_CurrentPaintManager.m_nOsFlags2 &= ~0x10;
        }
    }
    g_CurrentPaintManager.m_nOsFlags2 = nSaved;
    EXPECT_FALSE(CExtPaintManager::IsTransparentChild(NULL));
    ::DestroyWindow(hParent);
}

TEST(StaticServices, ClipOutChildrenExcludesVisibleChildrenUnlessFiltered)
{
    HWND hParent = ::CreateWindowExA(0, "Static", "", WS_POPUP, 0, 0, 100, 100, NULL, NULL,
                                     ::GetModuleHandleA(NULL), NULL);
    HWND hStatic = ::CreateWindowExA(0, "Static", "", WS_CHILD | WS_VISIBLE, 10, 10, 20, 20,
                                     hParent, NULL, ::GetModuleHandleA(NULL), NULL);
    HWND hEdit = ::CreateWindowExA(0, "Edit", "", WS_CHILD | WS_VISIBLE, 50, 10, 20, 20, hParent,
                                   NULL, ::GetModuleHandleA(NULL), NULL);
    ::CreateWindowExA(0, "Edit", "", WS_CHILD, 10, 50, 20, 20, hParent, NULL,
                      ::GetModuleHandleA(NULL), NULL);  // hidden: stays in
    (void)hStatic;
    (void)hEdit;
    DibCanvas canvas(100, 100, RGB(255, 255, 255));
    CDC* pDC = CDC::FromHandle(canvas.Dc());
    CExtPaintManager::ClipOutChildren(pDC, hParent,
                                      CExtPaintManager::stat_ClipFilterTransparentChild, 0);
    RECT all = {0, 0, 100, 100};
    HBRUSH hRed = ::CreateSolidBrush(RGB(255, 0, 0));
    ::FillRect(canvas.Dc(), &all, hRed);
    ::DeleteObject(hRed);
    EXPECT_EQ(RGB(255, 0, 0), canvas.Pixel(15, 15));      // the static is painted over
    EXPECT_EQ(RGB(255, 255, 255), canvas.Pixel(55, 15));  // the edit is clipped out
    EXPECT_EQ(RGB(255, 0, 0), canvas.Pixel(15, 55));      // hidden
    ::SelectClipRgn(canvas.Dc(), NULL);
    ::DestroyWindow(hParent);
}

TEST(StaticServices, PrintWindowToBitmapGivesA32BitImageOfTheClientArea)
{
    HWND hWnd = ::CreateWindowExA(0, "Static", "", WS_POPUP | WS_BORDER, 0, 0, 40, 30, NULL, NULL,
                                  ::GetModuleHandleA(NULL), NULL);
    RECT rcClient;
    ::GetClientRect(hWnd, &rcClient);
    HBITMAP hBmp = CExtPaintManager::PrintWindowToBitmap(hWnd, WM_PRINTCLIENT, PRF_CLIENT);
    ASSERT_NE((HBITMAP)NULL, hBmp);
    BITMAP bm;
    ::GetObjectA(hBmp, sizeof(bm), &bm);
    EXPECT_EQ(rcClient.right, bm.bmWidth);
    EXPECT_EQ(rcClient.bottom, bm.bmHeight);
    EXPECT_EQ(32, bm.bmBitsPixel);
    ::DeleteObject(hBmp);
    hBmp = CExtPaintManager::PrintWindowToBitmap(hWnd, WM_PRINT, PRF_NONCLIENT | PRF_CLIENT);
    ::GetObjectA(hBmp, sizeof(bm), &bm);
    EXPECT_EQ(40, bm.bmWidth);
    ::DeleteObject(hBmp);
    ::DestroyWindow(hWnd);
    EXPECT_EQ((HBITMAP)NULL, CExtPaintManager::PrintWindowToBitmap(NULL));
}

TEST(StaticServices, TextColorIconShowsTheColourBarBelowTheText)
{
    CExtPaintManager* pPM = themetest::InstallTheme(RUNTIME_CLASS(CExtPaintManagerXP));
    HICON hIcon = CExtPaintManager::CreateTextColorIcon(
        RGB(0, 128, 0), (HFONT)pPM->m_FontBold.GetSafeHandle(), "A");
    ASSERT_NE((HICON)NULL, hIcon);
    DibCanvas canvas(16, 16, RGB(255, 255, 255));
    ::DrawIconEx(canvas.Dc(), 0, 0, hIcon, 16, 16, 0, NULL, DI_NORMAL);
    ::DestroyIcon(hIcon);
    RECT bar = {0, 12, 16, 16};
    EXPECT_EQ(64, canvas.Count(RGB(0, 128, 0), bar));
    RECT text = {0, 0, 16, 12};
    EXPECT_GT(canvas.Count(RGB(0, 0, 0), text), 3);
    EXPECT_GT(canvas.Count(RGB(255, 255, 255), text), 100);  // the rest is transparent
}

TEST(StaticServices, ScreenDepthAndItsTestOverride)
{
    HDC hDC = ::GetDC(NULL);
    const int nBits = ::GetDeviceCaps(hDC, BITSPIXEL);
    ::ReleaseDC(NULL, hDC);
    EXPECT_EQ(nBits, CExtPaintManager::GetScreenBitsPerPixel());
    {
        themetest::ScreenDepthScope depth(8);
        EXPECT_EQ(8, CExtPaintManager::GetScreenBitsPerPixel());
    }
    EXPECT_EQ(nBits, CExtPaintManager::GetScreenBitsPerPixel());
}

TEST(StaticServices, PumpPaintMessagesPaintsOnlyWhatIsAskedAndKeepsQuit)
{
    HWND hWnd = ::CreateWindowExA(0, "Static", "", WS_POPUP | WS_VISIBLE, 0, 0, 40, 30, NULL, NULL,
                                  ::GetModuleHandleA(NULL), NULL);
    testsupport::PumpPending();
    ::InvalidateRect(hWnd, NULL, TRUE);
    CExtPaintManager::PumpPaintMessages(false, false, false);
    RECT rc;
    EXPECT_TRUE(::GetUpdateRect(hWnd, &rc, FALSE));
    CExtPaintManager::PumpPaintMessages(false, false, true);
    EXPECT_FALSE(::GetUpdateRect(hWnd, &rc, FALSE));

    // A quit request met on the way is left for the loop that owns the thread.
    ::InvalidateRect(hWnd, NULL, TRUE);
    ::PostQuitMessage(7);
    CExtPaintManager::PumpPaintMessages(true, true, true);
    MSG msg;
    ASSERT_TRUE(::PeekMessageA(&msg, NULL, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(7u, msg.wParam);
    ::DestroyWindow(hWnd);
    testsupport::PumpPending();
}

TEST(StaticServices, BuiltinImagesAreKeyedOrHaveTransparentCorners)
{
    CExtPaintManager* pPM = themetest::InstallTheme(RUNTIME_CLASS(CExtPaintManagerXP));
    struct Case
    {
        bool bFirst, bLarge;
        int nSize;
        POINT ptOpaque;
    } cases[] = {{true, false, 9, {4, 5}}, {false, false, 9, {4, 4}},
                 {true, true, 11, {5, 5}}, {false, true, 11, {5, 5}}};
    for (const Case& c : cases)
    {
        CExtCmdIcon icon;
        pPM->LoadBuiltinImage(icon, c.bFirst, c.bLarge);
        ASSERT_FALSE(icon.IsEmpty()) << c.bFirst << c.bLarge;
        EXPECT_EQ(c.nSize, icon.GetSize().cx) << c.bFirst << c.bLarge;
        EXPECT_EQ(c.nSize, icon.GetSize().cy) << c.bFirst << c.bLarge;
        BYTE nAlpha = 0xFF;
        icon.m_bmpNormal.GetPixelColor(0, 0, &nAlpha);
        EXPECT_EQ(0, nAlpha) << "corner of " << c.bFirst << c.bLarge;
        icon.m_bmpNormal.GetPixelColor(c.nSize - 1, c.nSize - 1, &nAlpha);
        EXPECT_EQ(0, nAlpha) << "corner of " << c.bFirst << c.bLarge;
        icon.m_bmpNormal.GetPixelColor(c.ptOpaque.x, c.ptOpaque.y, &nAlpha);
        EXPECT_EQ(255, nAlpha) << "inside of " << c.bFirst << c.bLarge;
        if (c.bLarge)
        {
            icon.m_bmpNormal.GetPixelColor(1, 0, &nAlpha);
            EXPECT_EQ(255, nAlpha) << "beside the corner of " << c.bFirst;
        }
    }
    // Loading replaces what the icon held.
    CExtCmdIcon icon;
    pPM->LoadBuiltinImage(icon, true, true);
    pPM->LoadBuiltinImage(icon, true, false);
    EXPECT_EQ(9, icon.GetSize().cx);
}

namespace {

// A child that answers a print request by filling its client area with red.
LRESULT CALLBACK RedPrintProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    if (nMsg == WM_PRINT || nMsg == WM_PRINTCLIENT)
    {
        RECT rc;
        ::GetClientRect(hWnd, &rc);
        HBRUSH hBrush = ::CreateSolidBrush(RGB(255, 0, 0));
        ::FillRect((HDC)wParam, &rc, hBrush);
        ::DeleteObject(hBrush);
        return 0;
    }
    return ::DefWindowProcA(hWnd, nMsg, wParam, lParam);
}

const char* RedPrintClass()
{
    static bool bRegistered = false;
    if (!bRegistered)
    {
        WNDCLASSA wc;
        ::memset(&wc, 0, sizeof(wc));
        wc.lpfnWndProc = RedPrintProc;
        wc.hInstance = ::GetModuleHandleA(NULL);
        wc.lpszClassName = "ThemeTestRedPrint";
        ::RegisterClassA(&wc);
        bRegistered = true;
    }
    return "ThemeTestRedPrint";
}

}  // namespace

TEST(StaticServices, PrintChildWindowsPlacesEachChildAtItsOffset)
{
    const COLORREF RED = RGB(255, 0, 0), WHITE = RGB(255, 255, 255);
    HWND hParent = ::CreateWindowExA(0, "Static", "", WS_POPUP | WS_BORDER, 0, 0, 60, 60, NULL,
                                     NULL, ::GetModuleHandleA(NULL), NULL);
    HWND hChild = ::CreateWindowExA(0, RedPrintClass(), "", WS_CHILD | WS_VISIBLE, 20, 10, 8, 6,
                                    hParent, NULL, ::GetModuleHandleA(NULL), NULL);
    HWND hInner = ::CreateWindowExA(0, RedPrintClass(), "", WS_CHILD | WS_VISIBLE, 1, 1, 2, 2,
                                    hChild, NULL, ::GetModuleHandleA(NULL), NULL);
    HWND hHidden = ::CreateWindowExA(0, RedPrintClass(), "", WS_CHILD, 2, 40, 8, 6, hParent,
                                     NULL, ::GetModuleHandleA(NULL), NULL);
    ASSERT_NE((HWND)NULL, hChild);
    (void)hInner;
    (void)hHidden;
    DibCanvas canvas(80, 80, WHITE);
    CExtPaintManager::PrintChildWindows(hParent, WM_PRINTCLIENT, canvas.Dc(), PRF_CLIENT, false);
    RECT all = {0, 0, 80, 80};
    EXPECT_EQ(48, canvas.Count(RED, all));
    EXPECT_EQ(RED, canvas.Pixel(20, 10));
    EXPECT_EQ(RED, canvas.Pixel(27, 15));
    EXPECT_EQ(WHITE, canvas.Pixel(3, 41));  // hidden children are not printed
    // The viewport is back where it was.
    POINT ptOrg;
    ::GetViewportOrgEx(canvas.Dc(), &ptOrg);
    EXPECT_EQ(0, ptOrg.x);
    EXPECT_EQ(0, ptOrg.y);
    // With the non-client area the parent's border shifts everything.
    canvas.Fill(WHITE);
    CExtPaintManager::PrintChildWindows(hParent, WM_PRINT, canvas.Dc(), PRF_CLIENT | PRF_NONCLIENT,
                                        true);
    RECT rcWnd;
    ::GetWindowRect(hParent, &rcWnd);
    POINT ptClient = {0, 0};
    ::ClientToScreen(hParent, &ptClient);
    const int dx = ptClient.x - rcWnd.left, dy = ptClient.y - rcWnd.top;
    EXPECT_GT(dx, 0);
    EXPECT_EQ(RED, canvas.Pixel(20 + dx, 10 + dy));
    EXPECT_EQ(WHITE, canvas.Pixel(19 + dx, 10 + dy));
    EXPECT_EQ(48, canvas.Count(RED, all));  // the inner child lies within its parent
    ::DestroyWindow(hParent);
}
