#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "framework/framework.h"
#include "toolkit/grid/grid_cell.h"

namespace {

typedef CExtGridCell::LAYOUT_INPUT In;
typedef CExtGridCell::CELL_LAYOUT Out;

std::string R(const CRect& rc)
{
    char s[64];
    sprintf(s, "(%ld,%ld,%ld,%ld)", rc.left, rc.top, rc.right, rc.bottom);
    return s;
}

// Every part of a layout in one line, empty parts left out.
std::string Describe(const Out& o)
{
    const struct
    {
        const char* name;
        const CRect* rc;
    } parts[] = {{"focus", &o.m_rcFocusArrow}, {"ellipsis", &o.m_rcEllipsis}, {"drop", &o.m_rcDropDown},
                 {"up", &o.m_rcUp},            {"down", &o.m_rcDown},         {"check", &o.m_rcCheck},
                 {"icon", &o.m_rcIcon},        {"sort", &o.m_rcSortArrow},    {"rest", &o.m_rcRest},
                 {"text", &o.m_rcText}};
    std::string s;
    for (const auto& p : parts)
        if (!p.rc->IsRectEmpty()) s += std::string(p.name) + R(*p.rc) + " ";
    if (o.m_nFocusGlyph != -1) s += "glyph" + std::to_string(o.m_nFocusGlyph);
    return s;
}

In Input(const CRect& rc, DWORD dwStyle = 0)
{
    In in;
    in.m_rcCell = rc;
    in.m_dwStyle = dwStyle;
    return in;
}

}  // namespace

TEST(GridCellLayout, PartsOnPlainRectangles)
{
    const CRect rc(0, 0, 100, 20);
    struct CASE
    {
        const char* name;
        In in;
        const char* expected;
    };
    std::vector<CASE> cases;
    {
        In in = Input(rc);
        in.m_bGridLinesH = in.m_bGridLinesV = true;
        cases.push_back({"grid lines take a pixel off right and bottom", in, "rest(1,1,98,18) text(3,1,96,18) "});
    }
    {
        In in = Input(rc);
        in.m_nWidthEllipsis = in.m_nWidthDropDown = in.m_nWidthUpDown = 16;
        cases.push_back({"buttons from the right: ellipsis, drop-down, up-down split in halves", in,
                         "ellipsis(84,0,100,20) drop(68,0,84,20) up(52,0,68,10) down(52,10,68,20) rest(1,1,51,19) "
                         "text(3,1,49,19) "});
    }
    {
        In in = Input(rc);
        in.m_szCheck = CSize(13, 13);
        in.m_szIcon = CSize(16, 16);
        in.m_rcIconMargins = CRect(2, 1, 1, 1);
        in.m_bHasText = true;
        cases.push_back({"check box then icon two pixels apart, left", in,
                         "check(2,3,15,16) icon(17,2,33,18) rest(35,1,99,19) text(37,1,97,19) "});
    }
    {
        In in = Input(rc, 0x200);
        in.m_szIcon = CSize(16, 16);
        in.m_rcIconMargins = CRect(2, 1, 1, 1);
        cases.push_back({"icon alone at the right takes its block and three more pixels", in,
                         "icon(79,2,98,18) rest(4,1,78,19) text(6,1,76,19) "});
    }
    {
        In in = Input(rc, 0x300);
        in.m_szCheck = CSize(13, 13);
        cases.push_back({"centred check box of a cell without text keeps the text area", in,
                         "check(44,3,57,16) rest(3,1,99,19) text(5,1,97,19) "});
        in.m_bHasText = true;
        cases.push_back({"centred check box of a cell with text goes left", in,
                         "check(2,3,15,16) rest(16,1,99,19) text(18,1,97,19) "});
    }
    {
        In in = Input(rc, 0x1000);
        in.m_szCheck = CSize(13, 13);
        in.m_bHasText = true;
        cases.push_back({"check box at the top", in, "check(2,0,15,13) rest(16,1,99,19) text(18,1,97,19) "});
        in.m_dwStyle = 0x2000;
        cases.push_back({"check box at the bottom", in, "check(2,7,15,20) rest(16,1,99,19) text(18,1,97,19) "});
    }
    const CRect rcHeader(0, 0, 60, 20);
    {
        In in = Input(rcHeader, 0x8000);
        in.m_nColType = -1;
        in.m_szFocusArrow = CSize(12, 12);
        in.m_szSortArrow = CSize(14, 14);
        in.m_bFocusInBand = true;
        cases.push_back({"left band, focused row: arrow at the right end, glyph 5", in,
                         "focus(48,0,60,20) sort(34,3,48,17) rest(1,1,33,19) text(3,1,31,19) glyph5"});
        in.m_bFocusInBand = false;
        cases.push_back({"left band, focus elsewhere: no arrow part", in,
                         "sort(46,3,60,17) rest(1,1,45,19) text(3,1,43,19) "});
        in.m_nColType = 1;
        in.m_bFocusInBand = true;
        cases.push_back({"right band: arrow at the left end, glyph 4", in,
                         "focus(0,0,12,20) sort(46,3,60,17) rest(13,1,45,19) text(15,1,43,19) glyph4"});
        in.m_nColType = 0;
        in.m_nRowType = 1;
        cases.push_back({"bottom band: glyph 2", in,
                         "focus(0,0,12,20) sort(46,3,60,17) rest(13,1,45,19) text(15,1,43,19) glyph2"});
        in.m_nRowType = -1;
        in.m_dwStyle = 0x800;
        cases.push_back({"top band with the always-reserve bit alone: part, no glyph", in,
                         "focus(0,0,12,20) sort(46,3,60,17) rest(13,1,45,19) text(15,1,43,19) "});
        in.m_nColType = -1;
        cases.push_back({"corner cell: no arrow", in, "sort(46,3,60,17) rest(1,1,45,19) text(3,1,43,19) "});
    }
    {
        In in = Input(CRect(0, 0, 3, 20));
        in.m_nWidthEllipsis = 16;
        cases.push_back({"a button wider than the cell never goes past its left side", in, "ellipsis(0,0,3,20) "});
        In small = Input(CRect(0, 0, 4, 20));
        cases.push_back({"content of 4 pixels gets no text", small, ""});
        In flat = Input(CRect(0, 0, 50, 1), 0);
        flat.m_bGridLinesH = true;
        cases.push_back({"an empty content rectangle ends the layout", flat, ""});
    }
    for (const CASE& c : cases) {
        Out out;
        CExtGridCell::stat_CalcLayout(c.in, out);
        EXPECT_EQ(c.expected, Describe(out)) << c.name;
    }
}

TEST(GridCellLayout, HitTestOrderAndPartFlags)
{
    Out lay;
    lay.m_rcEllipsis.SetRect(80, 0, 100, 20);
    lay.m_rcDropDown.SetRect(60, 0, 80, 20);
    lay.m_rcUp.SetRect(40, 0, 60, 10);
    lay.m_rcDown.SetRect(40, 10, 60, 20);
    lay.m_rcSortArrow.SetRect(20, 0, 40, 20);
    lay.m_rcIcon.SetRect(10, 0, 30, 20);  // overlaps the sort arrow
    lay.m_rcCheck.SetRect(5, 0, 12, 20);  // overlaps the icon
    lay.m_rcFocusArrow.SetRect(0, 0, 6, 20);
    lay.m_rcText.SetRect(0, 0, 100, 20);
    lay.m_rcRest.SetRect(0, 0, 120, 20);
    struct
    {
        POINT pt;
        DWORD flag;
        INT button;
        const char* rect;
    } cases[] = {
        {{90, 5}, 0x1000, 0, "(80,0,100,20)"},  {{70, 5}, 0x1000, 1, "(60,0,80,20)"},
        {{45, 5}, 0x1000, 2, "(40,0,60,10)"},   {{45, 15}, 0x1000, 3, "(40,10,60,20)"},
        {{25, 5}, 0x8000, -1, "(20,0,40,20)"},  {{11, 5}, 0x400, -1, "(5,0,12,20)"},
        {{15, 5}, 0x800, -1, "(10,0,30,20)"},   {{2, 5}, 0x10000, -1, "(0,0,6,20)"},
        {{99, 25}, 0, -1, "(0,0,0,0)"},         {{110, 5}, 0x4000, -1, "(0,0,120,20)"},
    };
    for (const auto& c : cases) {
        INT nButton = 99;
        CRect rcPart(1, 1, 1, 1);
        const DWORD dwFlag = CExtGridCell::stat_HitTestParts(lay, c.pt, nButton, rcPart);
        EXPECT_EQ(c.flag, dwFlag) << c.pt.x << "," << c.pt.y;
        EXPECT_EQ(c.button, nButton) << c.pt.x << "," << c.pt.y;
        EXPECT_EQ(c.rect, R(rcPart)) << c.pt.x << "," << c.pt.y;
    }
    // Text under everything but the rest.
    Out textOnly;
    textOnly.m_rcText.SetRect(0, 0, 10, 10);
    textOnly.m_rcRest.SetRect(0, 0, 10, 10);
    INT nButton = 0;
    CRect rcPart;
    EXPECT_EQ(0x2000u, CExtGridCell::stat_HitTestParts(textOnly, CPoint(5, 5), nButton, rcPart));
}
