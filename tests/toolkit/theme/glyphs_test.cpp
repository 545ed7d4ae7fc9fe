// Built-in glyphs: the table and its pictures, rotation, regions of drawn pixels, pixel
// drawing and centring, and the framed glyph button in the base, XP and Studio 2005 looks.
#include <gtest/gtest.h>
#include "theme_test_support.h"
#include "support/dib_canvas.h"
#include "toolkit/theme/pm_glyphs.h"

#include <string>
#include <vector>

using testsupport::DibCanvas;
typedef CExtPaintManager::glyph glyph;

namespace {

const COLORREF WHITE = RGB(255, 255, 255), RED = RGB(255, 0, 0), BLUE = RGB(0, 0, 255),
               BLACK = RGB(0, 0, 0);

// The rows of a glyph as text, '.' for index 0.
std::vector<std::string> Rows(const glyph& g)
{
    std::vector<std::string> rows;
    for (int y = 0; y < g.GetHeight(); y++)
    {
        std::string s;
        for (int x = 0; x < g.GetWidth(); x++)
        {
            const UINT n = g.GetAt(x, y);
            s += (n == 0) ? '.' : (char)('0' + n);
        }
        rows.push_back(s);
    }
    return rows;
}

int CountSet(const glyph& g)
{
    int n = 0;
    for (int y = 0; y < g.GetHeight(); y++)
        for (int x = 0; x < g.GetWidth(); x++)
            n += g.GetAt(x, y) != 0;
    return n;
}

// Compares a drawn glyph with its data: set pixels in the colour, the rest untouched.
void ExpectDrawn(const DibCanvas& canvas, const glyph& g, int x0, int y0, COLORREF clr,
                 COLORREF clrBack, const char* sCase)
{
    for (int y = 0; y < g.GetHeight(); y++)
        for (int x = 0; x < g.GetWidth(); x++)
            EXPECT_EQ(g.GetAt(x, y) != 0 ? clr : clrBack, canvas.Pixel(x0 + x, y0 + y))
                << sCase << " at " << x << "," << y;
}

}  // namespace

TEST(Glyphs, TableSizesAndColourCounts)
{
    struct Entry
    {
        int cx, cy;
    };
    for (int i = 0; i < __GLYPH_BUTTON_COUNT; i++)
    {
        ASSERT_NE(nullptr, g_ButtonGlyphs[i]) << i;
        Entry e = {9, 9};
        if (i >= 28 && i <= 35)
            e = {11, 11};
        else if (i == 36 || i == 37)
            e = {5, 3};
        else if (i == 38 || i == 39)
            e = {3, 5};
        else if (i == 40)
            e = {9, 3};
        else if (i >= 41 && i <= 44)
            e = {10, 10};
        else if (i == 45 || (i >= 49 && i <= 52))
            e = {7, 7};
        else if (i == 46)
            e = {7, 12};
        else if (i == 53 || i == 54)
            e = {9, 5};
        else if (i == 55 || i == 56)
            e = {5, 9};
        const SIZE sz = g_ButtonGlyphs[i]->GetSize();
        EXPECT_EQ(e.cx, sz.cx) << "entry " << i;
        EXPECT_EQ(e.cy, sz.cy) << "entry " << i;
        const int nColors = (i >= 41 && i <= 44) ? 4 : (i == 47 || i == 48) ? 3 : (i == 0) ? 1 : 2;
        EXPECT_EQ(nColors, g_ButtonGlyphs[i]->GetColorCount()) << "entry " << i;
        // Only the empty entry is all transparent.
        EXPECT_EQ(i == 0, CountSet(*g_ButtonGlyphs[i]) == 0) << "entry " << i;
    }
    EXPECT_EQ(5, g_glyphDropArrowDown.GetWidth());
    EXPECT_EQ(3, g_glyphDropArrowDown.GetHeight());
    EXPECT_EQ(3, g_glyphDropArrowRight.GetWidth());
    EXPECT_EQ(5, g_glyphDropArrowRight.GetHeight());
    EXPECT_EQ(5, g_glyphDoubleChevronDown.GetWidth());
    EXPECT_EQ(8, g_glyphDoubleChevronDown.GetHeight());
    EXPECT_EQ(12, g_glyphMenuRightArrow.GetWidth());
    EXPECT_EQ(16, g_glyphMenuRightArrow.GetHeight());
}

TEST(Glyphs, TellingPicturesAreExact)
{
    const std::vector<std::string> cross = {".........", ".11....11", "..11..11.",
                                            "...1111..", "....11...", "...1111..",
                                            "..11..11.", ".11....11", "........."};
    const std::vector<std::string> restore = {"..111111.", "..1....1.", "111111.1.",
                                              "111111.1.", "1....111.", "1....1...",
                                              "1....1...", "111111...", "........."};
    const std::vector<std::string> tri3d = {"....11....", "....11....", "...1311...",
                                            "...3..1...", "..11..11..", "..3....1..",
                                            ".11....11.", ".3......1.", "11......11",
                                            "1222222222"};
    EXPECT_EQ(cross, Rows(*g_ButtonGlyphs[1]));
    EXPECT_EQ(restore, Rows(*g_ButtonGlyphs[7]));
    EXPECT_EQ(tri3d, Rows(*g_ButtonGlyphs[41]));
    EXPECT_EQ(26, CountSet(*g_ButtonGlyphs[1]));
}

TEST(Glyphs, RotatedMembersAreExactRotations)
{
    struct Case
    {
        int nRotated;
        const glyph* pSource;
        int nAngle;
    } cases[] = {{3, g_ButtonGlyphs[2], 180},   {4, g_ButtonGlyphs[2], 270},
                 {5, g_ButtonGlyphs[4], 180},   {11, g_ButtonGlyphs[10], 90},
                 {13, g_ButtonGlyphs[12], 180}, {14, g_ButtonGlyphs[12], 270},
                 {15, g_ButtonGlyphs[12], 90},  {33, g_ButtonGlyphs[32], 90},
                 {34, g_ButtonGlyphs[32], 180}, {35, g_ButtonGlyphs[32], 270},
                 {43, g_ButtonGlyphs[42], 90},  {44, g_ButtonGlyphs[41], 90},
                 {55, g_ButtonGlyphs[53], 270}, {56, g_ButtonGlyphs[53], 90}};
    for (const Case& c : cases)
    {
        glyph rotated(*c.pSource, c.nAngle);
        EXPECT_EQ(Rows(rotated), Rows(*g_ButtonGlyphs[c.nRotated])) << "entry " << c.nRotated;
    }
    // Left and right small triangles point the way their names say.
    EXPECT_EQ(std::vector<std::string>({"..1", ".11", "111", ".11", "..1"}),
              Rows(*g_ButtonGlyphs[38]));
    EXPECT_EQ(std::vector<std::string>({"1..", "11.", "111", "11.", "1.."}),
              Rows(g_glyphDropArrowRight));
}

TEST(Glyphs, RotationMapsPixelsAndSwapsSize)
{
    static const UINT data[15] = {1, 2, 3, 0, 0,   //
                                  0, 0, 0, 0, 4,   //
                                  5, 0, 0, 0, 6};  // 5x3
    glyph src(5, 3, 7, data);
    glyph r90(src, 90);
    ASSERT_EQ(3, r90.GetWidth());
    ASSERT_EQ(5, r90.GetHeight());
    // (x, y) -> column h-1-y of row x.
    EXPECT_EQ(1u, r90.GetAt(2, 0));
    EXPECT_EQ(2u, r90.GetAt(2, 1));
    EXPECT_EQ(4u, r90.GetAt(1, 4));
    EXPECT_EQ(5u, r90.GetAt(0, 0));
    EXPECT_EQ(6u, r90.GetAt(0, 4));
    glyph r270(src, 270);
    ASSERT_EQ(3, r270.GetWidth());
    // (x, y) -> column y of row w-1-x.
    EXPECT_EQ(1u, r270.GetAt(0, 4));
    EXPECT_EQ(4u, r270.GetAt(1, 0));
    EXPECT_EQ(6u, r270.GetAt(2, 0));
    glyph r180(src, 180);
    EXPECT_EQ(5, r180.GetWidth());
    EXPECT_EQ(1u, r180.GetAt(4, 2));
    EXPECT_EQ(6u, r180.GetAt(0, 0));
    EXPECT_EQ(7, r180.GetColorCount());
    for (int nAngle : {0, 45, 360})
    {
        glyph same(src, nAngle);
        EXPECT_EQ(Rows(src), Rows(same)) << nAngle;
        EXPECT_NE(src.GetData(), same.GetData()) << "a copy owns its own pixels " << nAngle;
    }
    glyph empty;
    glyph emptyCopy(empty, 90);
    EXPECT_TRUE(emptyCopy.IsEmpty());
    EXPECT_EQ(0, emptyCopy.GetSize().cx);
    EXPECT_EQ(1, emptyCopy.GetColorCount());
    r90.Empty();
    EXPECT_TRUE(r90.IsEmpty());
    EXPECT_EQ(nullptr, r90.GetData());
}

TEST(Glyphs, RegionCoversTheDrawnPixels)
{
    const glyph& cross = *g_ButtonGlyphs[1];
    CRgn rgn;
    int l = 0, t = 0, r = 0, b = 0, el = 0, et = 0, er = 0, eb = 0;
    cross.GenerateRegion(rgn, glyph::stat_FilterTransparent, 0, &l, &t, &r, &b, &el, &et, &er,
                         &eb);
    ASSERT_NE(nullptr, rgn.GetSafeHandle());
    int nInside = 0;
    for (int y = 0; y < 9; y++)
        for (int x = 0; x < 9; x++)
        {
            const bool bIn = ::PtInRegion((HRGN)rgn.GetSafeHandle(), x, y) != FALSE;
            EXPECT_EQ(cross.GetAt(x, y) != 0, bIn) << x << "," << y;
            nInside += bIn;
        }
    EXPECT_EQ(26, nInside);
    EXPECT_EQ(1, l);
    EXPECT_EQ(1, t);
    EXPECT_EQ(8, r);
    EXPECT_EQ(7, b);
    EXPECT_EQ(0, el);
    EXPECT_EQ(0, et);
    EXPECT_EQ(8, er);
    EXPECT_EQ(8, eb);

    // A transparent glyph gives a valid empty region.
    g_ButtonGlyphs[0]->GenerateRegion(rgn, glyph::stat_FilterTransparent);
    ASSERT_NE(nullptr, rgn.GetSafeHandle());
    RECT rcBox;
    EXPECT_EQ(NULLREGION, ::GetRgnBox((HRGN)rgn.GetSafeHandle(), &rcBox));

    // A glyph without size deletes the old region and leaves none.
    HRGN hOld = (HRGN)rgn.GetSafeHandle();
    glyph empty;
    empty.GenerateRegion(rgn, glyph::stat_FilterTransparent);
    EXPECT_EQ(nullptr, rgn.GetSafeHandle());
    EXPECT_EQ(0, ::GetObjectType(hOld));
}

TEST(Glyphs, PixelsAreSetOnlyWhereTheIndexIsNotZero)
{
    CExtPaintManager* pPM = themetest::InstallTheme(RUNTIME_CLASS(CExtPaintManager));
    DibCanvas canvas(40, 40, WHITE);
    CDC* pDC = CDC::FromHandle(canvas.Dc());
    const glyph& cross = *g_ButtonGlyphs[1];
    const COLORREF red[2] = {BLUE, RED};  // entry 0 is never read
    pPM->DrawGlyphPixels(*pDC, 3, 4, cross, red);
    ExpectDrawn(canvas, cross, 3, 4, RED, WHITE, "red");
    // A second pass in another colour: only the set pixels change.
    const COLORREF black[2] = {BLUE, BLACK};
    pPM->DrawGlyphPixels(*pDC, 3, 4, cross, black);
    ExpectDrawn(canvas, cross, 3, 4, BLACK, WHITE, "black");

    // Several colour indices.
    canvas.Fill(WHITE);
    const COLORREF four[4] = {0, RED, BLUE, BLACK};
    pPM->DrawGlyphPixels(*pDC, 0, 0, *g_ButtonGlyphs[41], four);
    EXPECT_EQ(RED, canvas.Pixel(4, 0));
    EXPECT_EQ(BLACK, canvas.Pixel(4, 2));
    EXPECT_EQ(BLUE, canvas.Pixel(5, 9));
    EXPECT_EQ(WHITE, canvas.Pixel(0, 0));

    // Outside the clip region nothing is drawn.
    canvas.Fill(WHITE);
    HRGN hClip = ::CreateRectRgn(20, 20, 40, 40);
    ::SelectClipRgn(canvas.Dc(), hClip);
    pPM->DrawGlyphPixels(*pDC, 3, 4, cross, red);
    ::SelectClipRgn(canvas.Dc(), NULL);
    ::DeleteObject(hClip);
    EXPECT_EQ(0, canvas.Count(RED, RECT{0, 0, 40, 40}));
}

TEST(Glyphs, DrawGlyphCentresAndNeverClipsOrScales)
{
    CExtPaintManager* pPM = themetest::InstallTheme(RUNTIME_CLASS(CExtPaintManagerXP));
    DibCanvas canvas(40, 40, WHITE);
    CDC* pDC = CDC::FromHandle(canvas.Dc());
    const glyph& cross = *g_ButtonGlyphs[1];
    const COLORREF red[2] = {0, RED};
    struct Case
    {
        RECT rc;
        int x, y;  // expected top-left, -1: nothing drawn
        const char* sName;
    } cases[] = {
        {{0, 0, 20, 20}, 5, 5, "even room"},
        {{2, 3, 14, 15}, 3, 4, "odd room rounds down"},
        {{14, 15, 2, 3}, 3, 4, "reversed corners"},
        {{0, 0, 9, 9}, 0, 0, "exact fit"},
        {{0, 0, 8, 20}, -1, -1, "too narrow"},
        {{0, 0, 20, 8}, -1, -1, "too low"},
        {{5, 5, 5, 30}, -1, -1, "empty"},
    };
    for (const Case& c : cases)
    {
        canvas.Fill(WHITE);
        pPM->DrawGlyph(*pDC, c.rc, cross, red);
        if (c.x < 0)
            EXPECT_EQ(0, canvas.Count(RED, RECT{0, 0, 40, 40})) << c.sName;
        else
        {
            EXPECT_EQ(26, canvas.Count(RED, RECT{0, 0, 40, 40})) << c.sName;
            ExpectDrawn(canvas, cross, c.x, c.y, RED, WHITE, c.sName);
        }
    }
}

TEST(GlyphButton, BaseLookFramesAndGlyph)
{
    CExtPaintManager* pPM = themetest::InstallTheme(RUNTIME_CLASS(CExtPaintManager));
    const COLORREF F = ::GetSysColor(COLOR_BTNFACE), S = ::GetSysColor(COLOR_BTNSHADOW),
                   D = ::GetSysColor(COLOR_3DDKSHADOW), H = ::GetSysColor(COLOR_BTNHIGHLIGHT);
    DibCanvas canvas(40, 40, RED);
    CDC* pDC = CDC::FromHandle(canvas.Dc());
    // 12x12 at (10, 10): grown by one and then one more to the left and top: (8,8)-(23,23).
    const RECT rc = {10, 10, 22, 22};
    {
        CExtPaintManager::PAINTGLYPHBUTTONDATA data(NULL, rc, 1, false, false, true);
        pPM->DrawGlyphButton(*pDC, data);
        EXPECT_EQ(RED, canvas.Pixel(7, 7));
        EXPECT_EQ(H, canvas.Pixel(8, 8));    // raised: highlight top-left
        EXPECT_EQ(H, canvas.Pixel(20, 8));
        EXPECT_EQ(S, canvas.Pixel(22, 22));  // shadow bottom-right
        EXPECT_EQ(S, canvas.Pixel(22, 12));
        EXPECT_EQ(RED, canvas.Pixel(23, 23));
        EXPECT_EQ(F, canvas.Pixel(9, 9));
        // Type 1 is drawn as the smaller cross (21), in black, centred in (8,8)-(23,23).
        ExpectDrawn(canvas, *g_ButtonGlyphs[21], 11, 11, BLACK, F, "cross");
    }
    {
        canvas.Fill(RED);
        CExtPaintManager::PAINTGLYPHBUTTONDATA data(NULL, rc, 21, false, false, true);
        pPM->DrawGlyphButton(*pDC, data);
        ExpectDrawn(canvas, *g_ButtonGlyphs[21], 11, 11, BLACK, F, "type 21 alike");
    }
    {
        canvas.Fill(RED);
        CExtPaintManager::PAINTGLYPHBUTTONDATA data(NULL, rc, 6, false, true, true);
        pPM->DrawGlyphButton(*pDC, data);
        EXPECT_EQ(S, canvas.Pixel(8, 8));  // sunken
        EXPECT_EQ(H, canvas.Pixel(22, 22));
        ExpectDrawn(canvas, *g_ButtonGlyphs[6], 12, 12, BLACK, F, "pushed moves by one");
    }
    {
        canvas.Fill(RED);
        CExtPaintManager::PAINTGLYPHBUTTONDATA data(NULL, rc, 6, true, false, true);
        pPM->DrawGlyphButton(*pDC, data);
        EXPECT_EQ(F, canvas.Pixel(8, 8));  // outer face / dark shadow
        EXPECT_EQ(D, canvas.Pixel(22, 22));
        EXPECT_EQ(H, canvas.Pixel(9, 9));  // inner raised
        EXPECT_EQ(S, canvas.Pixel(21, 21));
    }
    {
        canvas.Fill(RED);
        CExtPaintManager::PAINTGLYPHBUTTONDATA data(NULL, rc, 6, true, true, false);
        pPM->DrawGlyphButton(*pDC, data);
        EXPECT_EQ(H, canvas.Pixel(8, 8));  // disabled: plain raised whatever the state
        // Pushed still moves the glyph; only the frame ignores it.
        ExpectDrawn(canvas, *g_ButtonGlyphs[6], 12, 12, S, F, "disabled glyph");
    }
    {
        // Not grown, odd size: the extra pixel goes to the left and top edges.
        canvas.Fill(RED);
        const RECT rcOdd = {10, 10, 21, 21};
        CExtPaintManager::PAINTGLYPHBUTTONDATA data(NULL, rcOdd, 6, false, false, true, false,
                                                    false, true);
        pPM->DrawGlyphButton(*pDC, data);
        EXPECT_EQ(RED, canvas.Pixel(10, 10));
        EXPECT_EQ(H, canvas.Pixel(11, 11));
        EXPECT_EQ(S, canvas.Pixel(20, 20));
        EXPECT_EQ(RED, canvas.Pixel(21, 21));
    }
}

TEST(GlyphButton, XpLookFillsAndFramesWhenHot)
{
    CExtPaintManager* pPM = themetest::InstallTheme(RUNTIME_CLASS(CExtPaintManagerXP));
    DibCanvas canvas(40, 40, RED);
    CDC* pDC = CDC::FromHandle(canvas.Dc());
    const RECT rc = {10, 10, 22, 22};
    struct Case
    {
        bool bHover, bPushed, bEnabled, bCaption, bActive, bNoGrow;
        int nFill;        // logical colour of the face, 0: untouched
        int nFrame;       // logical colour of the outside frame, 0: none
        COLORREF clrGlyph;
        int nDrawnType;
        const char* sName;
    } cases[] = {
        {true, false, true, false, false, false, 1001, 2004, BLACK, 1, "hot"},
        {false, true, true, false, false, false, 2003, 2004, BLACK, 1, "pushed"},
        {true, false, true, true, true, false, 1001, 2003, BLACK, 16, "hot active caption"},
        {false, false, true, true, false, false, 0, 0, pPM->LookupColor(COLOR_3DDKSHADOW), 16,
         "resting inactive caption"},
        {false, false, true, false, false, false, 0, 0, pPM->LookupColor(COLOR_HIGHLIGHTTEXT), 1,
         "resting"},
        {true, false, false, false, false, false, 0, 0, pPM->LookupColor(COLOR_BTNSHADOW), 1,
         "disabled is never hot"},
        {false, false, true, true, false, true, 0, 0, pPM->LookupColor(COLOR_3DDKSHADOW), 1,
         "caption, not grown: bold cross"},
    };
    for (const Case& c : cases)
    {
        canvas.Fill(RED);
        CExtPaintManager::PAINTGLYPHBUTTONDATA data(NULL, rc, 1, c.bHover, c.bPushed, c.bEnabled,
                                                    c.bCaption, c.bActive, c.bNoGrow);
        pPM->DrawGlyphButton(*pDC, data);
        const COLORREF clrFace = c.nFill ? pPM->LookupColor(c.nFill) : RED;
        EXPECT_EQ(c.nFrame ? pPM->LookupColor(c.nFrame) : RED, canvas.Pixel(9, 9)) << c.sName;
        EXPECT_EQ(c.nFrame ? pPM->LookupColor(c.nFrame) : RED, canvas.Pixel(22, 22)) << c.sName;
        EXPECT_EQ(clrFace, canvas.Pixel(10, 10)) << c.sName;
        // The glyph is centred in the rectangle itself, never shifted for pushed.
        ExpectDrawn(canvas, *g_ButtonGlyphs[c.nDrawnType], 11, 11, c.clrGlyph, clrFace, c.sName);
    }
}

namespace {

// A stand-in for the bars' menu caption button; the query answers as the bars' one does,
// false for any other asker.
class FakeNcMenuButton : public CObject
{
    DECLARE_DYNAMIC(FakeNcMenuButton)
public:
    bool m_bXpLook = false;
};
IMPLEMENT_DYNAMIC(FakeNcMenuButton, CObject)
bool QueryFakeXpLook(CObject* p)
{
    FakeNcMenuButton* pButton = DYNAMIC_DOWNCAST(FakeNcMenuButton, p);
    return pButton != NULL && pButton->m_bXpLook;
}

}  // namespace

TEST(GlyphButton, Studio2005AsksTheMenuCaptionButton)
{
    CExtPaintManager* pPM = themetest::InstallTheme(RUNTIME_CLASS(CExtPaintManagerStudio2005));
    DibCanvas canvas(40, 40, RED);
    CDC* pDC = CDC::FromHandle(canvas.Dc());
    const RECT rc = {10, 10, 22, 22};
    FakeNcMenuButton button;
    CExtPaintManager::PAINTGLYPHBUTTONDATA::g_pfnNcAreaMenuButtonXpLook = QueryFakeXpLook;
    struct Case
    {
        CObject* pHelper;
        bool bXpLook, bCaption, bNoGrow;
        bool bExpectXp;
        const char* sName;
    } cases[] = {
        {&button, false, true, true, false, "menu button without XP look: classic"},
        {&button, true, true, true, true, "menu button with XP look"},
        {NULL, false, true, true, false, "another asker: classic"},
        {NULL, false, true, false, true, "growing caption button: XP"},
        {&button, false, false, true, true, "not a caption button: XP"},
    };
    for (const Case& c : cases)
    {
        canvas.Fill(RED);
        button.m_bXpLook = c.bXpLook;
        CExtPaintManager::PAINTGLYPHBUTTONDATA data(c.pHelper, rc, 6, false, false, true,
                                                    c.bCaption, false, c.bNoGrow);
        pPM->DrawGlyphButton(*pDC, data);
        // The classic body always fills its face; the XP body leaves a resting button alone.
        EXPECT_EQ(c.bExpectXp ? RED : ::GetSysColor(COLOR_BTNFACE), canvas.Pixel(12, 12))
            << c.sName;
    }
    CExtPaintManager::PAINTGLYPHBUTTONDATA::g_pfnNcAreaMenuButtonXpLook = NULL;
    themetest::InstallTheme(RUNTIME_CLASS(CExtPaintManagerXP));
}
