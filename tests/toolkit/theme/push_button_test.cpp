// Item icons (placement, text room, state images, the XP raised hover) and the colour
// icons; push buttons in the classic and XP looks: frames, faces, gradients, drop-down
// parts, window-command glyphs, text colours and the disabled rules.
#include <gtest/gtest.h>
#include "theme_test_support.h"
#include "support/dib_canvas.h"
#include "toolkit/theme/pm_push_button.h"
#include "toolkit/theme/pm_glyphs.h"
#include "toolkit/theme/pm_neighbours.h"
#include "toolkit/core/cmd_icon.h"
#include "toolkit/core/resource_manager.h"

#include <cstdlib>

using testsupport::DibCanvas;
typedef CExtPaintManager::PAINTBUTTONDATA PAINTBUTTONDATA;

namespace {

const COLORREF WHITE = RGB(255, 255, 255), RED = RGB(255, 0, 0), BLUE = RGB(0, 0, 255),
               GREEN = RGB(0, 255, 0), MAGENTA = RGB(255, 0, 255);

// A 16x16 opaque icon of one colour, with hover and pushed images of their own.
void MakeIcon(CExtCmdIcon& icon, COLORREF clr, bool bStateImages)
{
    HICON h = CExtPaintManager::CreateColorIcon(clr);
    ASSERT_NE(nullptr, h);
    icon.AssignFromHICON(h, false);
    ASSERT_FALSE(icon.IsEmpty());
    if (!bStateImages)
        return;
    HICON hHover = CExtPaintManager::CreateColorIcon(BLUE);
    HICON hPushed = CExtPaintManager::CreateColorIcon(GREEN);
    icon.m_bmpHover.AssignFromHICON(hHover);
    icon.m_bmpPressed.AssignFromHICON(hPushed);
    icon.m_dwFlags |= CExtCmdIcon::__EXT_ICON_PERSISTENT_BITMAP_HOVER |
                      CExtCmdIcon::__EXT_ICON_PERSISTENT_BITMAP_PRESSED;
    ::DestroyIcon(hHover);
    ::DestroyIcon(hPushed);
}

bool Near(COLORREF a, COLORREF b, int nTolerance)
{
    return std::abs(GetRValue(a) - GetRValue(b)) <= nTolerance &&
           std::abs(GetGValue(a) - GetGValue(b)) <= nTolerance &&
           std::abs(GetBValue(a) - GetBValue(b)) <= nTolerance;
}

// Bounds of the pixels of one colour; false when there are none.
bool Bounds(const DibCanvas& canvas, COLORREF clr, const RECT& area, RECT& rcOut)
{
    rcOut = {INT_MAX, INT_MAX, INT_MIN, INT_MIN};
    for (int y = area.top; y < area.bottom; y++)
        for (int x = area.left; x < area.right; x++)
            if (canvas.Pixel(x, y) == clr)
            {
                rcOut.left = std::min<LONG>(rcOut.left, x);
                rcOut.top = std::min<LONG>(rcOut.top, y);
                rcOut.right = std::max<LONG>(rcOut.right, x + 1);
                rcOut.bottom = std::max<LONG>(rcOut.bottom, y + 1);
            }
    return rcOut.left != INT_MAX;
}

}  // namespace

TEST(ColorIcons, SquareAndFrame)
{
    DibCanvas canvas(16, 16, WHITE);
    HICON hSquare = CExtPaintManager::CreateColorIcon(RED);
    ASSERT_NE(nullptr, hSquare);
    ::DrawIconEx(canvas.Dc(), 0, 0, hSquare, 16, 16, 0, NULL, DI_NORMAL);
    ::DestroyIcon(hSquare);
    EXPECT_EQ(256, canvas.Count(RED, RECT{0, 0, 16, 16}));

    canvas.Fill(WHITE);
    HICON hFrame = CExtPaintManager::CreateColorFrameIcon(BLUE);
    ASSERT_NE(nullptr, hFrame);
    ::DrawIconEx(canvas.Dc(), 0, 0, hFrame, 16, 16, 0, NULL, DI_NORMAL);
    ::DestroyIcon(hFrame);
    for (int y = 0; y < 16; y++)
        for (int x = 0; x < 16; x++)
        {
            const bool bBand = x >= 1 && x < 15 && y >= 2 && y < 14 &&
                               !(x >= 3 && x < 13 && y >= 4 && y < 12);
            EXPECT_EQ(bBand ? BLUE : WHITE, canvas.Pixel(x, y)) << x << "," << y;
        }
}

TEST(ItemIcons, PlacementAndTextRoom)
{
    CExtPaintManager* pPM = themetest::InstallTheme(RUNTIME_CLASS(CExtPaintManager));
    CExtCmdIcon icon;
    MakeIcon(icon, RED, false);
    DibCanvas canvas(140, 140, WHITE);
    CDC* pDC = CDC::FromHandle(canvas.Dc());
    const RECT rcH = {10, 10, 110, 40}, rcV = {10, 10, 40, 110};
    struct Case
    {
        bool bHorz;
        const char* sText;
        UINT nAlign;
        bool bRTL, bPushed;
        POINT ptIcon;
        RECT rcText;
        const char* sName;
    } cases[] = {
        {true, "Text", 0, false, false, {13, 10}, {29, 10, 110, 40}, "near end"},
        {true, "Text", 0x08, false, false, {13, 17}, {29, 10, 110, 40}, "near end centred"},
        {true, "", 0, false, false, {52, 10}, {10, 10, 110, 40}, "no text: centred along"},
        {true, "Text", 0, true, false, {91, 10}, {10, 10, 91, 40}, "near end right-to-left"},
        {true, "Text", 0x02, false, false, {91, 17}, {13, 10, 91, 40}, "far end"},
        {true, "Text", 0x02, true, false, {13, 17}, {29, 10, 107, 40}, "far end right-to-left"},
        {true, "Text", 0x08, false, true, {14, 18}, {29, 10, 110, 40}, "pushed moves by one"},
        {false, "Text", 0x01, false, false, {10, 13}, {10, 29, 40, 110}, "vertical top"},
        {false, "Text", 0x09, false, false, {17, 13}, {10, 29, 40, 110}, "vertical top centred"},
        {false, "Text", 0x02, false, false, {17, 91}, {10, 10, 40, 91}, "vertical bottom"},
        {false, "", 0x01, false, false, {10, 52}, {10, 10, 40, 110}, "vertical no text"},
    };
    for (const Case& c : cases)
    {
        canvas.Fill(WHITE);
        const RECT& rcItem = c.bHorz ? rcH : rcV;
        RECT rcText = {0, 0, 0, 0};
        pPM->PaintIcon(pDC, c.bHorz, c.sText, &icon, rcItem, rcText, c.bPushed, true, false,
                       (INT)c.nAlign, c.bRTL);
        EXPECT_TRUE(::EqualRect(&c.rcText, &rcText))
            << c.sName << ": " << rcText.left << "," << rcText.top << "," << rcText.right << ","
            << rcText.bottom;
        RECT rcRed;
        ASSERT_TRUE(Bounds(canvas, RED, RECT{0, 0, 140, 140}, rcRed)) << c.sName;
        EXPECT_EQ(c.ptIcon.x, rcRed.left) << c.sName;
        EXPECT_EQ(c.ptIcon.y, rcRed.top) << c.sName;
        EXPECT_EQ(16, rcRed.right - rcRed.left) << c.sName;
    }
    // No icon, or an empty one: the text keeps the item, nothing is drawn.
    CExtCmdIcon empty;
    for (CExtCmdIcon* p : {(CExtCmdIcon*)NULL, &empty})
    {
        canvas.Fill(WHITE);
        RECT rcText = {0, 0, 0, 0};
        pPM->PaintIcon(pDC, true, "Text", p, rcH, rcText, false, true, false, 0, false);
        EXPECT_TRUE(::EqualRect(&rcH, &rcText));
        EXPECT_EQ(140 * 140, canvas.Count(WHITE, RECT{0, 0, 140, 140}));
    }
    // A null DC places the icon and draws nothing.
    RECT rcText = {0, 0, 0, 0};
    pPM->PaintIcon(NULL, true, "Text", &icon, rcH, rcText, false, true, false, 0, false);
    EXPECT_EQ(29, rcText.left);
}

TEST(ItemIcons, StatesPerTheme)
{
    CExtCmdIcon icon;
    MakeIcon(icon, RED, true);
    DibCanvas canvas(60, 60, WHITE);
    CDC* pDC = CDC::FromHandle(canvas.Dc());
    const RECT rcItem = {10, 10, 40, 40};  // no text: icon centred at (17, 17) with 0x08
    struct Case
    {
        CRuntimeClass* pTheme;
        bool bHover, bPushed;
        COLORREF clr;
        POINT pt;
        const char* sName;
    } cases[] = {
        {RUNTIME_CLASS(CExtPaintManager), false, false, RED, {17, 17}, "base normal"},
        {RUNTIME_CLASS(CExtPaintManager), true, false, BLUE, {17, 17}, "base hover"},
        {RUNTIME_CLASS(CExtPaintManager), true, true, GREEN, {18, 18}, "base pushed"},
        {RUNTIME_CLASS(CExtPaintManagerXP), false, false, RED, {18, 18}, "XP rests one lower"},
        {RUNTIME_CLASS(CExtPaintManagerXP), true, false, BLUE, {16, 16}, "XP hover lifted"},
        {RUNTIME_CLASS(CExtPaintManagerXP), true, true, GREEN, {18, 18}, "XP pushed"},
        {RUNTIME_CLASS(CExtPaintManagerOffice2003), true, false, BLUE, {17, 17}, "2003 hover"},
        {RUNTIME_CLASS(CExtPaintManagerStudio2005), false, false, RED, {17, 17}, "2005 normal"},
    };
    for (const Case& c : cases)
    {
        CExtPaintManager* pPM = themetest::InstallTheme(c.pTheme);
        canvas.Fill(WHITE);
        RECT rcText;
        pPM->PaintIcon(pDC, true, "", &icon, rcItem, rcText, c.bPushed, true, c.bHover, 0x08,
                       false);
        RECT rc;
        ASSERT_TRUE(Bounds(canvas, c.clr, RECT{0, 0, 60, 60}, rc)) << c.sName;
        EXPECT_EQ(c.pt.x, rc.left) << c.sName;
        EXPECT_EQ(c.pt.y, rc.top) << c.sName;
        EXPECT_EQ(16, rc.right - rc.left) << c.sName;
    }
    themetest::InstallTheme(RUNTIME_CLASS(CExtPaintManagerXP));
}

TEST(ItemIcons, XpHoverShadowAndDisabledTint)
{
    CExtPaintManager* pPM = themetest::InstallTheme(RUNTIME_CLASS(CExtPaintManagerXP));
    CExtCmdIcon icon;
    MakeIcon(icon, RED, false);  // no state images of its own: the shadow is drawn
    DibCanvas canvas(60, 60, WHITE);
    CDC* pDC = CDC::FromHandle(canvas.Dc());
    const RECT rcItem = {10, 10, 40, 40};
    RECT rcText;
    pPM->PaintIcon(pDC, true, "", &icon, rcItem, rcText, false, true, true, 0x08, false);
    // Icon at (16,16)-(32,32); its shadow at (18,18)-(34,34) shows below and right of it.
    EXPECT_EQ(RED, canvas.Pixel(16, 16));
    EXPECT_EQ(RED, canvas.Pixel(31, 31));
    EXPECT_EQ(WHITE, canvas.Pixel(15, 15));
    const COLORREF clrShadow = canvas.Pixel(33, 33);
    EXPECT_NE(WHITE, clrShadow);
    EXPECT_NE(RED, clrShadow);
    EXPECT_EQ(WHITE, canvas.Pixel(34, 34));

    // Disabled with an icon colour: tinted, one pixel above the resting place (18,18).
    canvas.Fill(WHITE);
    pPM->PaintIcon(pDC, true, "", &icon, rcItem, rcText, false, false, false, 0x08, false,
                   RGB(0, 0, 128));
    RECT rc;
    ASSERT_TRUE(Bounds(canvas, canvas.Pixel(20, 20), RECT{0, 0, 60, 60}, rc));
    EXPECT_EQ(18, rc.left);
    EXPECT_EQ(17, rc.top);
    EXPECT_NE(RED, canvas.Pixel(20, 20));

    // Disabled without a colour: the disabled image, in place.
    canvas.Fill(WHITE);
    pPM->PaintIcon(pDC, true, "", &icon, rcItem, rcText, false, false, false, 0x08, false);
    EXPECT_EQ(WHITE, canvas.Pixel(18, 17));
    EXPECT_NE(WHITE, canvas.Pixel(18, 18));
    EXPECT_NE(RED, canvas.Pixel(18, 18));
}

namespace {

struct ButtonCase
{
    DibCanvas canvas{80, 40, MAGENTA};
    CDC* pDC = CDC::FromHandle(canvas.Dc());
    RECT rc = {0, 0, 60, 24};
    PAINTBUTTONDATA Data(bool bFlat, bool bHover, bool bPushed, bool bEnabled = true,
                         bool bBorder = false, LPCTSTR sText = NULL)
    {
        return PAINTBUTTONDATA(NULL, true, rc, sText, NULL, bFlat, bHover, bPushed, false,
                               bEnabled, bBorder, false, false, 0x09);
    }
};

}  // namespace

TEST(PushButton, ClassicFramesAndFaces)
{
    CExtPaintManager* pPM = themetest::InstallTheme(RUNTIME_CLASS(CExtPaintManager));
    auto C = [pPM](int n) { return pPM->LookupColor(n); };
    ButtonCase t;
    struct Case
    {
        bool bFlat, bHover, bPushed, bEnabled, bBorder;
        COLORREF clrTopLeft, clrBottomRight, clrInnerTopLeft, clrInnerBottomRight;
        const char* sName;
    } cases[] = {
        {false, false, false, true, false, C(1004), C(1006), C(1000), C(1000), "raised"},
        {false, true, false, true, false, C(1006), C(1008), C(1004), C(1006), "hover: double"},
        {false, false, true, true, false, C(1007), C(1005), C(1001), C(1001), "pushed: sunken"},
        {true, false, false, true, true, C(1000), C(1000), C(1000), C(1000), "flat at rest"},
        {true, true, false, true, true, C(1004), C(1006), C(1001), C(1001), "flat hover border"},
        {true, true, false, true, false, C(1001), C(1001), C(1001), C(1001), "flat no border"},
        {true, false, true, true, false, C(1001), C(1001), C(1001), C(1001), "flat pushed no border"},
        {false, true, false, false, false, C(1004), C(1006), C(1000), C(1000), "disabled: no hover"},
    };
    for (const Case& c : cases)
    {
        t.canvas.Fill(MAGENTA);
        PAINTBUTTONDATA d = t.Data(c.bFlat, c.bHover, c.bPushed, c.bEnabled, c.bBorder);
        pPM->DrawPushButton(*t.pDC, d);
        EXPECT_EQ(c.clrTopLeft, t.canvas.Pixel(0, 0)) << c.sName;
        EXPECT_EQ(c.clrBottomRight, t.canvas.Pixel(59, 23)) << c.sName;
        EXPECT_EQ(c.clrInnerTopLeft, t.canvas.Pixel(1, 1)) << c.sName;
        EXPECT_EQ(c.clrInnerBottomRight, t.canvas.Pixel(58, 22)) << c.sName;
        EXPECT_EQ(MAGENTA, t.canvas.Pixel(60, 24)) << c.sName;
    }
    // Hovered and pushed: the face takes the first auxiliary brush.
    t.canvas.Fill(MAGENTA);
    PAINTBUTTONDATA d = t.Data(false, true, true);
    pPM->DrawPushButton(*t.pDC, d);
    LOGBRUSH lb;
    ASSERT_EQ((int)sizeof(lb), ::GetObject(pPM->GetAuxBrush(0).GetSafeHandle(), sizeof(lb), &lb));
    EXPECT_EQ(lb.lbColor, t.canvas.Pixel(30, 12));
    // A transparent background leaves the face alone; a background colour fills it.
    t.canvas.Fill(MAGENTA);
    d = t.Data(false, false, false);
    d.m_bTransparentBackground = true;
    pPM->DrawPushButton(*t.pDC, d);
    EXPECT_EQ(MAGENTA, t.canvas.Pixel(30, 12));
    d.m_clrForceBk = GREEN;
    pPM->DrawPushButton(*t.pDC, d);
    EXPECT_EQ(GREEN, t.canvas.Pixel(30, 12));
    // Nothing is drawn where the DC cannot paint.
    t.canvas.Fill(MAGENTA);
    HRGN hClip = ::CreateRectRgn(70, 30, 80, 40);
    ::SelectClipRgn(t.canvas.Dc(), hClip);
    d = t.Data(false, true, false, true, false, "Hidden");
    pPM->DrawPushButton(*t.pDC, d);
    ::SelectClipRgn(t.canvas.Dc(), NULL);
    ::DeleteObject(hClip);
    EXPECT_EQ(80 * 40, t.canvas.Count(MAGENTA, RECT{0, 0, 80, 40}));
}

TEST(PushButton, DisabledLosesHoverAndFocus)
{
    CExtPaintManager* pPM = themetest::InstallTheme(RUNTIME_CLASS(CExtPaintManagerXP));
    ButtonCase t;
    PAINTBUTTONDATA d(NULL, true, t.rc, "Go", NULL, false, true, false, true, false, false, true,
                      false, 0x09);
    pPM->DrawPushButton(*t.pDC, d);
    EXPECT_FALSE(d.m_bHover);
    EXPECT_FALSE(d.m_bDrawFocusRect);
    EXPECT_FALSE(d.m_bIndeterminate);
    // The face is the resting one, not the hover one.
    EXPECT_EQ(pPM->LookupColor(COLOR_BTNFACE), t.canvas.Pixel(2, 2));
}

TEST(PushButton, DropDownParts)
{
    CExtPaintManager* pPM = themetest::InstallTheme(RUNTIME_CLASS(CExtPaintManager));
    auto C = [pPM](int n) { return pPM->LookupColor(n); };
    ButtonCase t;
    // An 11-pixel part at the right: (49..60); its odd width puts the arrow's box at 50.
    PAINTBUTTONDATA d = t.Data(false, false, false);
    d.m_bDropDown = true;
    pPM->DrawPushButton(*t.pDC, d);
    for (int x = 0; x < 5; x++)
        EXPECT_EQ(C(1010), t.canvas.Pixel(52 + x, 10)) << x;
    EXPECT_EQ(C(1010), t.canvas.Pixel(54, 12));
    EXPECT_EQ(C(1000), t.canvas.Pixel(53, 12));
    // Not a split button: one raised frame round the main part and the arrow, none between.
    EXPECT_EQ(C(1006), t.canvas.Pixel(48, 23));
    EXPECT_EQ(C(1000), t.canvas.Pixel(49, 1));
    EXPECT_EQ(C(1004), t.canvas.Pixel(54, 0));
    EXPECT_EQ(C(1006), t.canvas.Pixel(59, 10));
    EXPECT_EQ(C(1006), t.canvas.Pixel(54, 23));

    // A split button whose menu is open: the part sunken, the main part raised.
    t.canvas.Fill(MAGENTA);
    d = t.Data(false, false, false);
    d.m_bDropDown = true;
    d.m_bSeparatedDropDown = true;
    d.m_bPushedDropDown = true;
    pPM->DrawPushButton(*t.pDC, d);
    EXPECT_EQ(C(1007), t.canvas.Pixel(49, 0));
    EXPECT_EQ(C(1005), t.canvas.Pixel(59, 23));
    EXPECT_EQ(C(1004), t.canvas.Pixel(0, 0));
    EXPECT_EQ(C(1010), t.canvas.Pixel(53, 11));  // arrow moved by the pushed offset

    // Narrower than the part: only the part is drawn (no main frame).
    t.canvas.Fill(MAGENTA);
    t.rc = {0, 0, 8, 24};
    d = t.Data(false, false, false, true, false, "Text");
    d.m_bDropDown = true;
    pPM->DrawPushButton(*t.pDC, d);
    EXPECT_EQ(C(1000), t.canvas.Pixel(0, 0));
    EXPECT_EQ(C(1010), t.canvas.Pixel(1, 10));
    EXPECT_EQ(9, t.canvas.Count(C(1010), RECT{0, 0, 8, 24}));  // the arrow alone, no text

    // Vertical: the part at the bottom, the 3x5 right arrow in it.
    t.canvas.Fill(MAGENTA);
    t.rc = {0, 0, 24, 40};
    d = t.Data(false, false, false);
    d.m_bHorz = false;
    d.m_bDropDown = true;
    pPM->DrawPushButton(*t.pDC, d);
    // Part (0,29)-(24,40): glyph 3x5 centred at x = 10, y = 32.
    EXPECT_EQ(C(1010), t.canvas.Pixel(10, 32));
    EXPECT_EQ(C(1010), t.canvas.Pixel(12, 34));
    EXPECT_EQ(C(1000), t.canvas.Pixel(11, 32));
}

TEST(PushButton, SystemCommandGlyphs)
{
    for (CRuntimeClass* pTheme : {RUNTIME_CLASS(CExtPaintManager), RUNTIME_CLASS(CExtPaintManagerXP)})
    {
        CExtPaintManager* pPM = themetest::InstallTheme(pTheme);
        const bool bXP = pTheme != RUNTIME_CLASS(CExtPaintManager);
        const COLORREF clrGlyph = pPM->LookupColor(1010);
        ButtonCase t;
        struct Case
        {
            UINT nCmd;
            bool bPushed;
            int x, y;  // glyph's top-left, -1 none
        } cases[] = {
            {SC_CLOSE, false, 25, 7},
            {SC_CLOSE, true, bXP ? 25 : 26, bXP ? 7 : 8},
            {SC_MINIMIZE, false, 25, 7},
            {SC_MAXIMIZE, false, 25, 7},
            {0x1234, false, -1, -1},
        };
        for (const Case& c : cases)
        {
            t.canvas.Fill(MAGENTA);
            PAINTBUTTONDATA d = t.Data(false, false, c.bPushed);
            d.m_nHelperSysCmdID = c.nCmd;
            pPM->DrawPushButton(*t.pDC, d);
            const int nGlyph = c.nCmd == SC_CLOSE ? 1 : c.nCmd == SC_MINIMIZE ? 6 : 8;
            const RECT rcInner = {2, 2, 58, 22};
            if (c.x < 0)
            {
                EXPECT_EQ(0, t.canvas.Count(clrGlyph, rcInner)) << c.nCmd;
                continue;
            }
            const CExtPaintManager::glyph& g = *g_ButtonGlyphs[nGlyph];
            int nSet = 0;
            for (int y = 0; y < 9; y++)
                for (int x = 0; x < 9; x++)
                    if (g.GetAt(x, y) != 0)
                    {
                        nSet++;
                        EXPECT_EQ(clrGlyph, t.canvas.Pixel(c.x + x, c.y + y))
                            << pTheme->m_lpszClassName << " " << c.nCmd << " " << x << "," << y;
                    }
            EXPECT_EQ(nSet, t.canvas.Count(clrGlyph, rcInner)) << c.nCmd;
        }
        // An icon wins over the command.
        CExtCmdIcon icon;
        MakeIcon(icon, RED, false);
        t.canvas.Fill(MAGENTA);
        PAINTBUTTONDATA d = t.Data(false, false, false);
        d.m_pIcon = &icon;
        d.m_nHelperSysCmdID = SC_CLOSE;
        pPM->DrawPushButton(*t.pDC, d);
        EXPECT_EQ(256, t.canvas.Count(RED, RECT{0, 0, 60, 24}));
        EXPECT_EQ(0, t.canvas.Count(clrGlyph, RECT{2, 2, 58, 22}));
    }
    themetest::InstallTheme(RUNTIME_CLASS(CExtPaintManagerXP));
}

TEST(PushButton, TextColoursAndEmbossing)
{
    ButtonCase t;
    t.rc = {0, 0, 80, 40};
    for (CRuntimeClass* pTheme : {RUNTIME_CLASS(CExtPaintManager), RUNTIME_CLASS(CExtPaintManagerXP)})
    {
        CExtPaintManager* pPM = themetest::InstallTheme(pTheme);
        const bool bXP = pTheme != RUNTIME_CLASS(CExtPaintManager);
        const COLORREF clrText = pPM->LookupColor(COLOR_BTNTEXT);
        const COLORREF clrLight = pPM->LookupColor(COLOR_BTNHIGHLIGHT);
        const COLORREF clrShadow = pPM->LookupColor(COLOR_BTNSHADOW);
        const RECT rcInner = {3, 3, 77, 37};

        t.canvas.Fill(MAGENTA);
        PAINTBUTTONDATA d = t.Data(false, false, false, true, false, "Wide");
        pPM->DrawPushButton(*t.pDC, d);
        RECT rcInk;
        ASSERT_TRUE(Bounds(t.canvas, clrText, rcInner, rcInk)) << pTheme->m_lpszClassName;
        // Centred both ways (alignment 0x09: centre across and along); the ink sits a
        // little inside the measured cell, unevenly.
        EXPECT_LE(std::abs((rcInk.left - 0) - (80 - rcInk.right)), 6) << pTheme->m_lpszClassName;
        EXPECT_LE(std::abs((rcInk.top - 0) - (40 - rcInk.bottom)), 4) << pTheme->m_lpszClassName;

        // A text colour of the caller wins.
        t.canvas.Fill(MAGENTA);
        d = t.Data(false, false, false, true, false, "Wide");
        d.m_clrForceTextNormal = GREEN;
        pPM->DrawPushButton(*t.pDC, d);
        EXPECT_GT(t.canvas.Count(GREEN, rcInner), 10) << pTheme->m_lpszClassName;

        // Disabled: embossed in the classic look, flat shadow text in XP.
        t.canvas.Fill(MAGENTA);
        d = t.Data(false, false, false, false, false, "Wide");
        pPM->DrawPushButton(*t.pDC, d);
        EXPECT_GT(t.canvas.Count(clrShadow, rcInner), 10) << pTheme->m_lpszClassName;
        if (bXP)
            EXPECT_EQ(0, t.canvas.Count(clrLight, rcInner)) << pTheme->m_lpszClassName;
        else
            EXPECT_GT(t.canvas.Count(clrLight, rcInner), 10) << pTheme->m_lpszClassName;
        EXPECT_EQ(0, t.canvas.Count(clrText, rcInner)) << pTheme->m_lpszClassName;

        // Drawn in one pass on request: the disabled colour alone (the face colour).
        if (!bXP)
        {
            t.canvas.Fill(MAGENTA);
            d = t.Data(false, false, false, false, false, "Wide");
            d.m_bOnePassText = true;
            pPM->DrawPushButton(*t.pDC, d);
            EXPECT_EQ(0, t.canvas.Count(clrLight, rcInner));
        }

        // Vertical text runs down the button.
        t.canvas.Fill(MAGENTA);
        t.rc = {0, 0, 30, 80};
        d = t.Data(false, false, false, true, false, "&Vertical");
        d.m_bHorz = false;
        pPM->DrawPushButton(*t.pDC, d);
        t.rc = {0, 0, 80, 40};
        ASSERT_TRUE(Bounds(t.canvas, clrText, RECT{1, 1, 29, 79}, rcInk)) << pTheme->m_lpszClassName;
        EXPECT_GT(rcInk.bottom - rcInk.top, 2 * (rcInk.right - rcInk.left)) << pTheme->m_lpszClassName;
    }
}

TEST(PushButton, XpFacesAndBorders)
{
    CExtPaintManager* pPM = themetest::InstallTheme(RUNTIME_CLASS(CExtPaintManagerXP));
    auto C = [pPM](int n) { return pPM->LookupColor(n); };
    ButtonCase t;
    struct Case
    {
        bool bFlat, bHover, bPushed, bBorder;
        COLORREF clrFace, clrBorder;
        const char* sName;
    } cases[] = {
        {false, false, false, false, C(COLOR_BTNFACE), C(COLOR_BTNSHADOW), "resting"},
        {true, false, false, true, C(1000), C(1000), "flat resting: no border"},
        {false, true, false, false, C(1001), C(2004), "hover"},
        {false, true, true, false, C(2003), C(2004), "hover pushed"},
        {false, false, true, false, C(1001), C(2004), "pushed"},
        {true, true, false, true, C(1001), C(2004), "flat hover with border"},
        {true, true, false, false, C(1001), C(1001), "flat hover without border"},
    };
    for (const Case& c : cases)
    {
        t.canvas.Fill(MAGENTA);
        PAINTBUTTONDATA d = t.Data(c.bFlat, c.bHover, c.bPushed, true, c.bBorder);
        pPM->DrawPushButton(*t.pDC, d);
        EXPECT_EQ(c.clrBorder, t.canvas.Pixel(0, 0)) << c.sName;
        EXPECT_EQ(c.clrBorder, t.canvas.Pixel(59, 23)) << c.sName;
        EXPECT_EQ(c.clrFace, t.canvas.Pixel(1, 1)) << c.sName;
        EXPECT_EQ(c.clrFace, t.canvas.Pixel(30, 12)) << c.sName;
    }
    // The drop arrow of an XP button is in the button-text colour.
    t.canvas.Fill(MAGENTA);
    PAINTBUTTONDATA d = t.Data(false, false, false);
    d.m_bDropDown = true;
    pPM->DrawPushButton(*t.pDC, d);
    EXPECT_EQ(C(COLOR_BTNTEXT), t.canvas.Pixel(52, 10));
    EXPECT_EQ(C(COLOR_BTNSHADOW), t.canvas.Pixel(59, 10)) << "the frame goes round the arrow";
    d = t.Data(false, false, false, false);
    d.m_bDropDown = true;
    pPM->DrawPushButton(*t.pDC, d);
    EXPECT_EQ(C(COLOR_BTNSHADOW), t.canvas.Pixel(52, 10));
}

TEST(PushButton, Office2003GradientFaces)
{
    themetest::LunaScope luna(1, RUNTIME_CLASS(CExtPaintManagerOffice2003));
    CExtPaintManagerXP* pPM = static_cast<CExtPaintManagerXP*>(luna.PM());
    ASSERT_GE(pPM->m_nIdxClrBtnHoverLeft, 0);
    const COLORREF clrFirst = pPM->LookupColor(pPM->m_nIdxClrBtnHoverLeft);
    const COLORREF clrSecond = pPM->LookupColor(pPM->m_nIdxClrBtnHoverRight);
    ASSERT_NE(clrFirst, clrSecond);
    ButtonCase t;
    t.rc = {0, 0, 60, 40};
    PAINTBUTTONDATA d = t.Data(false, true, false);
    pPM->DrawPushButton(*t.pDC, d);
    // Horizontal: first colour at the top, second at the bottom (inside the border).
    EXPECT_TRUE(Near(clrFirst, t.canvas.Pixel(30, 1), 12)) << std::hex << t.canvas.Pixel(30, 1);
    EXPECT_TRUE(Near(clrSecond, t.canvas.Pixel(30, 38), 12)) << std::hex << t.canvas.Pixel(30, 38);
    EXPECT_EQ(t.canvas.Pixel(5, 20), t.canvas.Pixel(55, 20));  // rows are even
    // Vertical: second colour at the left, first at the right.
    t.canvas.Fill(MAGENTA);
    d = t.Data(false, true, false);
    d.m_bHorz = false;
    pPM->DrawPushButton(*t.pDC, d);
    EXPECT_TRUE(Near(clrSecond, t.canvas.Pixel(1, 20), 12)) << std::hex << t.canvas.Pixel(1, 20);
    EXPECT_TRUE(Near(clrFirst, t.canvas.Pixel(58, 20), 12)) << std::hex << t.canvas.Pixel(58, 20);
    EXPECT_EQ(t.canvas.Pixel(30, 5), t.canvas.Pixel(30, 35));
}

TEST(PushButton, RecordConstructorAndRightToLeft)
{
    const RECT rc = {0, 0, 10, 10};
    PAINTBUTTONDATA d(NULL, true, rc, NULL, NULL, false, false, false, true, false, true, false,
                      true, 0x0B);
    EXPECT_STREQ("", d.m_sText);
    EXPECT_EQ(0, d.m_lParam);
    EXPECT_EQ(5u, d.m_nTextPlacement);  // bit 0 -> 1, bit 3 -> +4
    EXPECT_TRUE(d.m_bIndeterminate);
    EXPECT_EQ(COLORREF(-1), d.m_clrForceBk);
    EXPECT_EQ(COLORREF(-1), d.m_clrCustomIcon);
    EXPECT_FALSE(d.m_bReserved4);
    PAINTBUTTONDATA d2(NULL, true, rc, "x", NULL, false, false, false, false, true, false, false,
                       false, 0x02);
    EXPECT_EQ(2u, d2.m_nTextPlacement);
    EXPECT_FALSE(d2.IsRTL());
    d2.m_bForceRtlLayout = true;
    EXPECT_TRUE(d2.IsRTL());
}

namespace {

// Askers of classes that the theme's query tables name as the popup menu and bar button.
class FakeMenu : public CWnd
{
    DECLARE_DYNAMIC(FakeMenu)
};
IMPLEMENT_DYNAMIC(FakeMenu, CWnd)
class FakeBarButton : public CObject
{
    DECLARE_DYNAMIC(FakeBarButton)
};
IMPLEMENT_DYNAMIC(FakeBarButton, CObject)
bool AlwaysRTL(const CObject*) { return true; }

}  // namespace

TEST(PushButton, RightToLeftAskers)
{
    const RECT rc = {0, 0, 60, 24};
    const CExtPmNeighbours::MenuQueries savedMenus = CExtPmNeighbours::g_menus;
    const CExtPmNeighbours::BarQueries savedBars = CExtPmNeighbours::g_bars;
    CExtPmNeighbours::g_menus.pPopupMenuClass = RUNTIME_CLASS(FakeMenu);
    CExtPmNeighbours::g_bars.pBarButtonClass = RUNTIME_CLASS(FakeBarButton);
    FakeMenu menu;
    HWND hWnd = ::CreateWindowExA(WS_EX_LAYOUTRTL, "STATIC", "", WS_POPUP, 0, 0, 10, 10, NULL,
                                  NULL, NULL, NULL);
    ASSERT_NE(nullptr, hWnd);
    PAINTBUTTONDATA d(&menu, true, rc, "x", NULL, false, false, false, false, true, false, false,
                      false, 0);
    EXPECT_FALSE(d.IsRTL());  // no window yet
    menu.Attach(hWnd);
    EXPECT_TRUE(d.IsRTL());   // the menu window's own layout
    ::SetWindowLongA(hWnd, GWL_EXSTYLE, 0);
    EXPECT_FALSE(d.IsRTL());
    PAINTBUTTONDATA::g_pfnPopupMenuRTL = AlwaysRTL;  // the menus library's answer wins
    EXPECT_TRUE(d.IsRTL());
    PAINTBUTTONDATA::g_pfnPopupMenuRTL = NULL;
    menu.Detach();
    ::DestroyWindow(hWnd);

    FakeBarButton button;
    PAINTBUTTONDATA b(&button, true, rc, "x", NULL, false, false, false, false, true, false,
                      false, false, 0);
    const bool bLayoutRTL = (g_CurrentResourceManager->GetLangLayout() & LAYOUT_RTL) != 0;
    EXPECT_EQ(bLayoutRTL, b.IsRTL());
    PAINTBUTTONDATA::g_pfnBarButtonRTL = AlwaysRTL;
    EXPECT_TRUE(b.IsRTL());
    PAINTBUTTONDATA::g_pfnBarButtonRTL = NULL;
    CExtPmNeighbours::g_menus = savedMenus;
    CExtPmNeighbours::g_bars = savedBars;

    // A right-to-left drop-down button has its part at the left.
    CExtPaintManager* pPM = themetest::InstallTheme(RUNTIME_CLASS(CExtPaintManager));
    DibCanvas canvas(60, 24, MAGENTA);
    PAINTBUTTONDATA r(NULL, true, rc, NULL, NULL, false, false, false, false, true, false, false,
                      false, 0, NULL, true);
    r.m_bForceRtlLayout = true;
    pPM->DrawPushButton(*CDC::FromHandle(canvas.Dc()), r);
    // Part (0,0)-(11,24): odd width, the arrow's box from 1: arrow at x 3..7, y 10.
    EXPECT_EQ(pPM->LookupColor(1010), canvas.Pixel(3, 10));
    EXPECT_EQ(pPM->LookupColor(1010), canvas.Pixel(7, 10));
    EXPECT_EQ(pPM->LookupColor(1004), canvas.Pixel(11, 0));  // the main part's frame after it
}
