// Popup-menu items in the classic and the flat look: backgrounds, selection, rarely used
// runs, icon and check placement, disabled text, sub-menu arrows and embedded fields.
#include <gtest/gtest.h>
#include "bar_fakes.h"
#include "support/dib_canvas.h"
#include "toolkit/theme/pm_glyphs.h"
#include "toolkit/theme/pm_menu_entry.h"

using testsupport::DibCanvas;
typedef barfakes::PopupMenu FakeMenu;
typedef CExtPaintManager::PAINTMENUENTRYDATA EntryData;

namespace {

const COLORREF MARK = RGB(1, 2, 3);

class MenuEntry : public ::testing::Test
{
protected:
    void TearDown() override { themetest::InstallTheme(RUNTIME_CLASS(CExtPaintManagerXP)); }
    CExtPaintManager* Use(CRuntimeClass* pClass) { return themetest::InstallTheme(pClass); }
    barfakes::Scene m_scene;
};

EntryData Item(CObject* pMenu, const RECT& rc, int nLeftArea, LPCTSTR sText, bool bSelected,
               bool bChecked, bool bEnabled, bool bRarely = false, bool bPrevRarely = false,
               bool bNextRarely = false)
{
    return EntryData(pMenu, rc, rc, nLeftArea, sText, NULL, NULL, false, bSelected, bChecked,
                     false, false, bEnabled, bRarely, bPrevRarely, bNextRarely, 0, NULL);
}

}  // namespace

TEST_F(MenuEntry, EmptyItemDrawsNothing)
{
    DibCanvas canvas(100, 30, MARK);
    CDC* pDC = CDC::FromHandle(canvas.Dc());
    const RECT rcEmpty = {0, 0, 100, 0};
    const RECT rcBk = {0, 0, 100, 30};
    for (CRuntimeClass* pClass : {RUNTIME_CLASS(CExtPaintManager), RUNTIME_CLASS(CExtPaintManagerXP)})
    {
        CExtPaintManager* pPM = Use(pClass);
        EntryData d(NULL, rcEmpty, rcBk, 20, "Open", NULL, NULL, false, true, false, false, false,
                    true, false, false, false, 0, NULL);
        pPM->DrawMenuEntry(*pDC, d);
        EXPECT_EQ(MARK, canvas.Pixel(50, 15)) << pClass->m_lpszClassName;
    }
}

TEST_F(MenuEntry, ClassicSelectionAndRarelyUsedRuns)
{
    CExtPaintManager* pPM = Use(RUNTIME_CLASS(CExtPaintManager));
    DibCanvas canvas(200, 24, MARK);
    CDC* pDC = CDC::FromHandle(canvas.Dc());
    const RECT rc = {0, 0, 200, 24};
    const COLORREF clrHighlight = pPM->LookupColor(COLOR_HIGHLIGHT);

    // Without icon the selection runs under the left area too.
    EntryData plain = Item(NULL, rc, 24, "", true, false, true);
    pPM->DrawMenuEntry(*pDC, plain);
    EXPECT_EQ(clrHighlight, canvas.Pixel(0, 12));
    EXPECT_EQ(clrHighlight, canvas.Pixel(199, 12));

    // With a check mark it starts after the left area plus 1 pixel.
    canvas.Fill(MARK);
    EntryData checked = Item(NULL, rc, 24, "", true, true, true);
    pPM->DrawMenuEntry(*pDC, checked);
    EXPECT_EQ(pPM->LookupColor(1000), canvas.Pixel(24, 0));
    EXPECT_EQ(clrHighlight, canvas.Pixel(25, 0));
    EXPECT_EQ(clrHighlight, canvas.Pixel(199, 23));

    // A run of rarely used items: a shadow line above its first item, a highlight line
    // below its last, nothing between two of them.
    canvas.Fill(MARK);
    EntryData first = Item(NULL, rc, 24, "", false, false, true, true, false, true);
    pPM->DrawMenuEntry(*pDC, first);
    EXPECT_EQ(pPM->LookupColor(COLOR_BTNSHADOW), canvas.Pixel(100, 0));
    EXPECT_NE(pPM->LookupColor(COLOR_BTNHIGHLIGHT), canvas.Pixel(100, 23));
    canvas.Fill(MARK);
    EntryData last = Item(NULL, rc, 24, "", false, false, true, true, true, false);
    pPM->DrawMenuEntry(*pDC, last);
    EXPECT_NE(pPM->LookupColor(COLOR_BTNSHADOW), canvas.Pixel(100, 0));
    EXPECT_EQ(pPM->LookupColor(COLOR_BTNHIGHLIGHT), canvas.Pixel(100, 23));
}

TEST_F(MenuEntry, CheckFramePlacement)
{
    DibCanvas canvas(200, 24, MARK);
    CDC* pDC = CDC::FromHandle(canvas.Dc());
    const RECT rc = {0, 0, 200, 24};
    struct Case
    {
        CRuntimeClass* pClass;
        bool bTwoCells;
        int nFrameLeft;  // the icon frame is the icon rectangle grown by 2
        int nFrameColor;
    } cases[] = {
        {RUNTIME_CLASS(CExtPaintManager), false, 10, 1006},
        {RUNTIME_CLASS(CExtPaintManager), true, 18, 1006},
        {RUNTIME_CLASS(CExtPaintManagerXP), false, 9, 2004},
        {RUNTIME_CLASS(CExtPaintManagerXP), true, 18, 2004},
        {RUNTIME_CLASS(CExtPaintManagerOffice2003), false, 9, 2004},
    };
    for (const Case& c : cases)
    {
        CExtPaintManager* pPM = Use(c.pClass);
        canvas.Fill(MARK);
        EntryData d = Item(NULL, rc, 40, "", false, true, true);
        d.m_bTwoCells = c.bTwoCells;
        pPM->DrawMenuEntry(*pDC, d);
        const COLORREF clrFrame = pPM->LookupColor(c.nFrameColor);
        const char* sCase = c.pClass->m_lpszClassName;
        EXPECT_EQ(clrFrame, canvas.Pixel(c.nFrameLeft, 12)) << sCase << " " << c.bTwoCells;
        EXPECT_NE(clrFrame, canvas.Pixel(c.nFrameLeft - 1, 12)) << sCase << " " << c.bTwoCells;
        EXPECT_EQ(clrFrame, canvas.Pixel(c.nFrameLeft + 2, 2)) << sCase << " " << c.bTwoCells;
        // The check mark is drawn in the text colour inside the frame.
        const RECT rcIcon = {c.nFrameLeft + 2, 4, c.nFrameLeft + 18, 20};
        EXPECT_GT(canvas.Count(pPM->LookupColor(1010), rcIcon), 3) << sCase;
    }
}

TEST_F(MenuEntry, FlatLookAreasAndSelection)
{
    DibCanvas canvas(200, 24, MARK);
    CDC* pDC = CDC::FromHandle(canvas.Dc());
    const RECT rc = {0, 0, 200, 24};

    CExtPaintManager* pPM = Use(RUNTIME_CLASS(CExtPaintManagerXP));
    EntryData d = Item(NULL, rc, 24, "", false, false, true);
    pPM->DrawMenuEntry(*pDC, d);
    EXPECT_EQ(pPM->LookupColor(1000), canvas.Pixel(0, 12)) << "no gradient indices in XP";
    EXPECT_EQ(pPM->LookupColor(1000), canvas.Pixel(23, 12));
    EXPECT_EQ(pPM->LookupColor(2001), canvas.Pixel(24, 12));
    canvas.Fill(MARK);
    EntryData rarely = Item(NULL, rc, 24, "", false, false, true, true);
    pPM->DrawMenuEntry(*pDC, rarely);
    EXPECT_EQ(pPM->LookupColor(2005), canvas.Pixel(0, 12));
    canvas.Fill(MARK);
    EntryData selected = Item(NULL, rc, 24, "", true, false, true);
    pPM->DrawMenuEntry(*pDC, selected);
    EXPECT_EQ(pPM->LookupColor(2004), canvas.Pixel(0, 0));
    EXPECT_EQ(pPM->LookupColor(2004), canvas.Pixel(199, 23));
    EXPECT_EQ(pPM->LookupColor(1001), canvas.Pixel(100, 12));
    canvas.Fill(MARK);
    EntryData noArea = Item(NULL, rc, 24, "", false, false, true);
    noArea.m_bNoIconArea = true;
    pPM->DrawMenuEntry(*pDC, noArea);
    EXPECT_EQ(pPM->LookupColor(2001), canvas.Pixel(0, 12));

    // Office 2003: the left area is the theme's gradient, flat at 8 bits per pixel.
    pPM = Use(RUNTIME_CLASS(CExtPaintManagerOffice2003));
    canvas.Fill(MARK);
    pPM->DrawMenuEntry(*pDC, d);
    EXPECT_EQ(pPM->LookupColor(3015), canvas.Pixel(0, 12));
    EXPECT_EQ(pPM->LookupColor(2001), canvas.Pixel(24, 12));
    {
        themetest::ScreenDepthScope depth(8);
        canvas.Fill(MARK);
        pPM->DrawMenuEntry(*pDC, d);
        EXPECT_EQ(pPM->LookupColor(1000), canvas.Pixel(0, 12));
        EXPECT_EQ(pPM->LookupColor(1000), canvas.Pixel(23, 12));
    }
}

TEST_F(MenuEntry, TextColoursAndArrows)
{
    DibCanvas canvas(200, 24, MARK);
    CDC* pDC = CDC::FromHandle(canvas.Dc());
    const RECT rc = {0, 0, 200, 24};
    const RECT rcTextArea = {24, 0, 150, 24};
    const RECT rcArrowArea = {181, 3, 197, 21};

    CExtPaintManager* pPM = Use(RUNTIME_CLASS(CExtPaintManagerXP));
    EntryData disabled = Item(NULL, rc, 24, "Disabled", false, false, false);
    pPM->DrawMenuEntry(*pDC, disabled);
    EXPECT_GT(canvas.Count(::GetSysColor(COLOR_BTNSHADOW), rcTextArea), 10);
    EXPECT_EQ(0, canvas.Count(pPM->LookupColor(1010), rcTextArea));

    canvas.Fill(MARK);
    EntryData popup = Item(NULL, rc, 24, "More", false, false, true);
    popup.m_bPopup = true;
    pPM->DrawMenuEntry(*pDC, popup);
    EXPECT_GT(canvas.Count(pPM->LookupColor(1010), rcArrowArea), 5) << "the Marlett arrow";

    canvas.Fill(MARK);
    popup.m_bGlyphArrow = true;
    pPM->DrawMenuEntry(*pDC, popup);
    int nGlyphPixels = 0;
    for (int y = 0; y < g_glyphMenuRightArrow.GetHeight(); y++)
        for (int x = 0; x < g_glyphMenuRightArrow.GetWidth(); x++)
            nGlyphPixels += g_glyphMenuRightArrow.GetAt(x, y) != 0;
    EXPECT_EQ(nGlyphPixels, canvas.Count(pPM->LookupColor(1010), rcArrowArea));

    // A disabled item of a right-to-left classic menu is embossed: a highlight copy.
    pPM = Use(RUNTIME_CLASS(CExtPaintManager));
    FakeMenu* pMenu = m_scene.Top<FakeMenu>(0, 0, 100, 100);
    pMenu->m_bRTL = true;
    canvas.Fill(MARK);
    EntryData rtl = Item(pMenu, rc, 24, "Disabled", false, false, false);
    pPM->DrawMenuEntry(*pDC, rtl);
    const RECT rcRtlText = {0, 0, 176, 24};
    EXPECT_GT(canvas.Count(pPM->LookupColor(COLOR_BTNHIGHLIGHT), rcRtlText), 5);
    EXPECT_GT(canvas.Count(pPM->LookupColor(COLOR_BTNSHADOW), rcRtlText), 5);
    // The text stands at the right, next to the left area that is now on the right.
    const RECT rcFarLeft = {0, 0, 40, 24};
    EXPECT_EQ(0, canvas.Count(pPM->LookupColor(COLOR_BTNSHADOW), rcFarLeft));
}

TEST_F(MenuEntry, EmbeddedFields)
{
    DibCanvas canvas(220, 24, MARK);
    CDC* pDC = CDC::FromHandle(canvas.Dc());
    const RECT rc = {0, 0, 220, 24};
    CExtPaintManager* pPM = Use(RUNTIME_CLASS(CExtPaintManagerXP));
    EntryData edit = Item(NULL, rc, 24, "Find", false, false, true);
    ::SetRect(&edit.m_rcInPlaceWnd, 100, 4, 180, 18);
    edit.m_sInPlaceText = "text";
    pPM->DrawMenuEntry(*pDC, edit);
    EXPECT_EQ(pPM->LookupColor(2010), canvas.Pixel(99, 2));
    EXPECT_EQ(pPM->LookupColor(2010), canvas.Pixel(180, 19));
    EXPECT_EQ(::GetSysColor(COLOR_WINDOW), canvas.Pixel(101, 3));
    const RECT rcField = {104, 4, 180, 18};
    EXPECT_GT(canvas.Count(::GetSysColor(COLOR_BTNTEXT), rcField), 5);

    canvas.Fill(MARK);
    edit.m_bSelected = true;
    pPM->DrawMenuEntry(*pDC, edit);
    EXPECT_EQ(pPM->LookupColor(2004), canvas.Pixel(99, 2));

    canvas.Fill(MARK);
    edit.m_bSelected = false;
    edit.m_bEnabled = false;
    pPM->DrawMenuEntry(*pDC, edit);
    EXPECT_EQ(pPM->LookupColor(2011), canvas.Pixel(99, 2));
    EXPECT_EQ(::GetSysColor(COLOR_BTNFACE), canvas.Pixel(101, 3));
    EXPECT_GT(canvas.Count(::GetSysColor(COLOR_BTNSHADOW), rcField), 5);
}
