// Check boxes and radio buttons: the glyph in every state against the platform's own
// frame controls, its placement beside the text, text colours, the disabled rules, and
// the visual-style road with its state table.
#include <gtest/gtest.h>
#include "theme_test_support.h"
#include "support/dib_canvas.h"
#include "toolkit/theme/pm_check_radio.h"

#include <string>
#include <vector>

using testsupport::DibCanvas;
typedef CExtPaintManager::PAINTCHECKBOXDATA PAINTCHECKBOXDATA;

namespace {

const COLORREF MAGENTA = RGB(255, 0, 255), GREEN = RGB(0, 255, 0);

// True when the two canvases agree inside the rectangle.
bool SameArea(const DibCanvas& a, const DibCanvas& b, const RECT& rc)
{
    for (int y = rc.top; y < rc.bottom; y++)
        for (int x = rc.left; x < rc.right; x++)
            if (a.Pixel(x, y) != b.Pixel(x, y))
                return false;
    return true;
}

// Bounds of the pixels of one colour from column nFromX on.
bool InkBounds(const DibCanvas& canvas, COLORREF clr, RECT& rc, int nFromX = 14)
{
    rc = {INT_MAX, INT_MAX, INT_MIN, INT_MIN};
    for (int y = 0; y < canvas.Height(); y++)
        for (int x = nFromX; x < canvas.Width(); x++)
            if (canvas.Pixel(x, y) == clr)
            {
                rc.left = std::min<LONG>(rc.left, x);
                rc.top = std::min<LONG>(rc.top, y);
                rc.right = std::max<LONG>(rc.right, x + 1);
                rc.bottom = std::max<LONG>(rc.bottom, y + 1);
            }
    return rc.left != INT_MAX;
}

struct ThemedCall
{
    int nPart = -1, nState = -1;
    RECT rc = {0, 0, 0, 0};
    int nCalls = 0;
    HRESULT hr = S_OK;
};
ThemedCall g_themed;

HRESULT WINAPI FakeDrawBackground(HTHEME, HDC, int nPart, int nState, const RECT* pRect,
                                  const RECT*)
{
    g_themed.nCalls++;
    g_themed.nPart = nPart;
    g_themed.nState = nState;
    if (pRect != NULL)
        g_themed.rc = *pRect;
    return g_themed.hr;
}

// Plays visual styles on, with a background painter that records what it is asked.
class ThemedButtons
{
public:
    ThemedButtons() : m_pfn(g_CurrentPaintManager.m_UxTheme.m_pfnDrawThemeBackground)
    {
        themetest::Fake() = themetest::FakeUxState();
        g_themed = ThemedCall();
        g_CurrentPaintManager.m_UxTheme.m_dwComCtlVersion = 0x00060000;
        g_CurrentPaintManager.m_UxTheme.m_pfnDrawThemeBackground = FakeDrawBackground;
    }
    ~ThemedButtons() { g_CurrentPaintManager.m_UxTheme.m_pfnDrawThemeBackground = m_pfn; }

private:
    themetest::FakeUxTheme m_fake;  // constructed first, so restored last
    UxThemeLibrary::PFN_DrawThemeBackground m_pfn;
};

}  // namespace

TEST(CheckRadio, GlyphOfEveryStateMatchesTheFrameControl)
{
    CExtPaintManager* pPM = themetest::InstallTheme(RUNTIME_CLASS(CExtPaintManagerXP));
    ASSERT_FALSE(g_CurrentPaintManager.m_UxTheme.IsUsable(true));  // classic road here
    static const UINT arrCheck[12] = {0,     0x400, 0x408, 0x200, 0x600, 0x608,
                                      0,     0x400, 0x408, 0x100, 0x500, 0x508};
    static const UINT arrRadio[12] = {0, 0x400, 0, 0x200, 0x600, 0, 0, 0x400, 0, 0x100, 0x500, 0};
    CButton asker;  // a button without a window
    DibCanvas canvas(60, 20, MAGENTA), reference(60, 20, MAGENTA);
    CDC* pDC = CDC::FromHandle(canvas.Dc());
    const RECT rcGlyph = {0, 0, 13, 13};
    for (int bRadio = 0; bRadio < 2; bRadio++)
        for (int nState = 0; nState < 12; nState++)
        {
            canvas.Fill(MAGENTA);
            reference.Fill(MAGENTA);
            PAINTCHECKBOXDATA d(&asker, nState, false, false, RECT{0, 0, 60, 20}, "", false,
                                false, nState < 9, false, 4);
            if (bRadio)
                pPM->DrawRadioButton(*pDC, d);
            else
                pPM->DrawCheckBox(*pDC, d);
            EXPECT_TRUE(::EqualRect(&rcGlyph, &d.m_rcBox)) << bRadio << " " << nState;
            RECT rc = rcGlyph;
            ::DrawFrameControl(reference.Dc(), &rc, DFC_BUTTON,
                               (bRadio ? DFCS_BUTTONRADIO : DFCS_BUTTONCHECK) |
                                   (bRadio ? arrRadio[nState] : arrCheck[nState]));
            EXPECT_TRUE(SameArea(canvas, reference, RECT{0, 0, 60, 20}))
                << (bRadio ? "radio " : "check ") << nState;
        }

    // A flat button window asks for the flat look.
    HWND hWnd = ::CreateWindowExA(0, "BUTTON", "", WS_POPUP | BS_AUTOCHECKBOX | BS_FLAT, 0, 0,
                                  20, 20, NULL, NULL, NULL, NULL);
    ASSERT_NE(nullptr, hWnd);
    CButton flat;
    flat.Attach(hWnd);
    canvas.Fill(MAGENTA);
    reference.Fill(MAGENTA);
    PAINTCHECKBOXDATA d(&flat, 1, false, false, RECT{0, 0, 60, 20}, "", false, false, true,
                        false, 4);
    pPM->DrawCheckBox(*pDC, d);
    RECT rc = rcGlyph;
    ::DrawFrameControl(reference.Dc(), &rc, DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_CHECKED | DFCS_FLAT);
    EXPECT_TRUE(SameArea(canvas, reference, RECT{0, 0, 60, 20}));
    flat.Detach();
    ::DestroyWindow(hWnd);

    // No asking object: no glyph.
    canvas.Fill(MAGENTA);
    PAINTCHECKBOXDATA none(NULL, 1, false, false, RECT{0, 0, 60, 20}, "", false, false, true,
                           false, 4);
    pPM->DrawCheckBox(*pDC, none);
    EXPECT_EQ(60 * 20, canvas.Count(MAGENTA, RECT{0, 0, 60, 20}));
}

TEST(CheckRadio, GlyphPlacementBesideTheText)
{
    CExtPaintManager* pPM = themetest::InstallTheme(RUNTIME_CLASS(CExtPaintManager));
    CButton asker;
    DibCanvas canvas(200, 80, MAGENTA);
    CDC* pDC = CDC::FromHandle(canvas.Dc());
    struct Case
    {
        RECT rcClient;
        const char* sText;
        bool bLeftText;
        DWORD nAlign;
        RECT rcBox;
        const char* sName;
    } cases[] = {
        {{0, 0, 100, 20}, "", false, 0, {0, 0, 13, 13}, "no text: top-left"},
        {{0, 0, 100, 20}, "", true, 0, {87, 0, 100, 13}, "no text, text on the left: top-right"},
        {{0, 0, 100, 10}, "Tiny", false, 0, {0, -1, 13, 12}, "centred in 10 pixels: one above"},
        {{0, 0, 100, 30}, "Mid", false, 0, {0, 8, 13, 21}, "centred"},
        {{0, 0, 100, 30}, "Top", false, 4, {0, 0, 13, 13}, "top"},
        {{5, 30, 105, 70}, "Bottom", false, 16, {5, 57, 18, 70}, "bottom, away from the origin"},
        {{0, 0, 10, 20}, "Narrow", true, 0, {-3, 0, 10, 13}, "narrower than the glyph"},
    };
    for (const Case& c : cases)
    {
        canvas.Fill(MAGENTA);
        PAINTCHECKBOXDATA d(&asker, 0, c.bLeftText, false, c.rcClient, c.sText, false, false,
                            true, false, c.nAlign);
        pPM->DrawCheckBox(*pDC, d);
        EXPECT_TRUE(::EqualRect(&c.rcBox, &d.m_rcBox))
            << c.sName << ": " << d.m_rcBox.left << "," << d.m_rcBox.top << "," << d.m_rcBox.right
            << "," << d.m_rcBox.bottom;
    }
    // Narrower than the glyph with the text on the left: no text is drawn.
    canvas.Fill(MAGENTA);
    PAINTCHECKBOXDATA d(&asker, 0, true, false, RECT{50, 40, 60, 60}, "Narrow", false, false,
                        true, false, 0);
    pPM->DrawCheckBox(*pDC, d);
    EXPECT_EQ(0, canvas.Count(pPM->LookupColor(COLOR_BTNTEXT), RECT{0, 0, 47, 80}));
}

TEST(CheckRadio, TextPlacementAndColours)
{
    CExtPaintManager* pPM = themetest::InstallTheme(RUNTIME_CLASS(CExtPaintManagerXP));
    CButton asker;
    DibCanvas canvas(200, 40, MAGENTA);
    CDC* pDC = CDC::FromHandle(canvas.Dc());
    const COLORREF clrText = pPM->LookupColor(COLOR_BTNTEXT);
    const COLORREF clrShadow = pPM->LookupColor(COLOR_BTNSHADOW);
    const RECT rcClient = {0, 0, 200, 40};

    // Text right of the glyph: it starts past glyph + 4 + the 1-pixel inset.
    PAINTCHECKBOXDATA d(&asker, 1, false, false, rcClient, "Check me", false, false, true, false, 0);
    pPM->DrawCheckBox(*pDC, d);
    RECT rcInk;
    ASSERT_TRUE(InkBounds(canvas, clrText, rcInk));
    EXPECT_GE(rcInk.left, 18);
    EXPECT_LE(rcInk.left, 21);
    const int nLeftAligned = rcInk.left;

    // Right-aligned text ends at the text area's right edge (control right - 1).
    canvas.Fill(MAGENTA);
    PAINTCHECKBOXDATA right(&asker, 0, false, false, rcClient, "Check me", false, false, true,
                            false, 2);
    pPM->DrawCheckBox(*pDC, right);
    ASSERT_TRUE(InkBounds(canvas, clrText, rcInk));
    EXPECT_GE(rcInk.right, 190);  // the last letter's ink ends a little inside its cell
    EXPECT_LE(rcInk.right, 199);
    EXPECT_GT(rcInk.left, nLeftAligned + 50);

    // Text on the left: the glyph at the right edge, the text from the left edge.
    canvas.Fill(MAGENTA);
    PAINTCHECKBOXDATA left(&asker, 0, true, false, rcClient, "Check me", false, false, true,
                           false, 0);
    pPM->DrawCheckBox(*pDC, left);
    ASSERT_TRUE(InkBounds(canvas, clrText, rcInk, 0));
    EXPECT_LE(rcInk.left, 5);
    EXPECT_EQ(187, left.m_rcBox.left);

    struct Case
    {
        bool bEnabled, bHover, bPushed;
        COLORREF clrNormal, clrHover, clrPressed, clrDisabled;
        COLORREF clrExpected;
        const char* sName;
    } cases[] = {
        {true, false, false, COLORREF(-1), COLORREF(-1), COLORREF(-1), COLORREF(-1), clrText, "plain"},
        {false, false, false, COLORREF(-1), COLORREF(-1), COLORREF(-1), COLORREF(-1), clrShadow, "disabled"},
        {true, true, false, RGB(0, 0, 200), GREEN, RGB(200, 0, 0), COLORREF(-1), GREEN, "hover"},
        {true, true, true, RGB(0, 0, 200), GREEN, RGB(200, 0, 0), COLORREF(-1), RGB(200, 0, 0), "pushed"},
        {true, true, true, RGB(0, 0, 200), GREEN, COLORREF(-1), COLORREF(-1), GREEN, "pushed falls to hover"},
        {true, false, true, RGB(0, 0, 200), GREEN, COLORREF(-1), COLORREF(-1), RGB(0, 0, 200), "pushed falls to normal"},
        {false, true, false, RGB(0, 0, 200), GREEN, RGB(200, 0, 0), RGB(0, 128, 0), RGB(0, 128, 0), "disabled colour"},
    };
    for (const Case& c : cases)
    {
        canvas.Fill(MAGENTA);
        PAINTCHECKBOXDATA t(&asker, 0, false, false, rcClient, "Colours", c.bHover, c.bPushed,
                            c.bEnabled, true, 0);
        t.m_clrForceTextNormal = c.clrNormal;
        t.m_clrForceTextHover = c.clrHover;
        t.m_clrForceTextPressed = c.clrPressed;
        t.m_clrForceTextDisabled = c.clrDisabled;
        pPM->DrawCheckBox(*pDC, t);
        EXPECT_GT(canvas.Count(c.clrExpected, RECT{14, 0, 200, 40}), 10) << c.sName;
        if (!c.bEnabled)
        {
            EXPECT_FALSE(t.m_bHover) << c.sName;
            EXPECT_FALSE(t.m_bDrawFocusRect) << c.sName;
        }
    }
}

TEST(CheckRadio, VisualStyleRoad)
{
    CExtPaintManager* pPM = themetest::InstallTheme(RUNTIME_CLASS(CExtPaintManagerXP));
    ThemedButtons themed;
    ASSERT_TRUE(g_CurrentPaintManager.m_UxTheme.IsUsable(true));
    CButton asker;
    DibCanvas canvas(60, 20, MAGENTA);
    CDC* pDC = CDC::FromHandle(canvas.Dc());
    static const int arrCheck[12] = {1, 5, 9, 3, 7, 11, 2, 6, 10, 4, 8, 12};
    static const int arrRadio[12] = {1, 5, 0, 3, 7, 0, 2, 6, 0, 4, 8, 0};
    for (int bRadio = 0; bRadio < 2; bRadio++)
        for (int nState = 0; nState < 12; nState++)
        {
            g_themed = ThemedCall();
            canvas.Fill(MAGENTA);
            PAINTCHECKBOXDATA d(&asker, nState, false, false, RECT{0, 0, 60, 20}, "", false,
                                false, true, false, 4);
            if (bRadio)
                pPM->DrawRadioButton(*pDC, d);
            else
                pPM->DrawCheckBox(*pDC, d);
            EXPECT_EQ(1, g_themed.nCalls) << bRadio << " " << nState;
            EXPECT_EQ(bRadio ? 2 : 3, g_themed.nPart) << bRadio << " " << nState;
            EXPECT_EQ(bRadio ? arrRadio[nState] : arrCheck[nState], g_themed.nState)
                << bRadio << " " << nState;
            EXPECT_TRUE(::EqualRect(&d.m_rcBox, &g_themed.rc));
            // The style drew it: the frame control did not.
            EXPECT_EQ(60 * 20, canvas.Count(MAGENTA, RECT{0, 0, 60, 20}));
        }
    EXPECT_EQ(L"BUTTON", themetest::Fake().sLastOpenList);
    EXPECT_EQ(themetest::Fake().nOpenCalls, themetest::Fake().nCloseCalls);

    // When the style fails, the frame control draws the glyph.
    g_themed = ThemedCall();
    g_themed.hr = E_FAIL;
    PAINTCHECKBOXDATA d(&asker, 1, false, false, RECT{0, 0, 60, 20}, "", false, false, true,
                        false, 4);
    pPM->DrawCheckBox(*pDC, d);
    EXPECT_EQ(1, g_themed.nCalls);
    EXPECT_LT(canvas.Count(MAGENTA, RECT{0, 0, 13, 13}), 13 * 13);
}
