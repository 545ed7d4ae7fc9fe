// The built-in glyphs, the caption-button glyph table, and the paint-manager operations
// that draw a glyph and a framed glyph button.
//
// The pictures are spelt out below as rows of colour indices ('.' is index 0) and turned
// into static tables by the compiler, so they exist before any constructor runs. Only
// the rotated members allocate (at static initialisation, after the glyphs they rotate).
#include "toolkit/theme/pm_glyphs.h"

#include <utility>

typedef CExtPaintManager::glyph glyph;

// ---- the glyph class ---------------------------------------------------------------------

glyph::glyph(const glyph& other, int nAngle)
    : m_nWidth(0), m_nHeight(0), m_nColorCount(1), m_pData(NULL), m_bOwnsData(false)
{
    if (other.IsEmpty())
        return;
    const int w = other.m_nWidth, h = other.m_nHeight;
    UINT* pData = new UINT[(size_t)w * (size_t)h];
    const UINT* pSrc = other.m_pData;
    switch (nAngle)
    {
    case 90:
        // Source (x, y) lands at column h-1-y of row x; the copy is h wide.
        for (int y = 0; y < h; y++)
            for (int x = 0; x < w; x++)
                pData[x * h + (h - 1 - y)] = pSrc[y * w + x];
        m_nWidth = h;
        m_nHeight = w;
        break;
    case 180:
        for (int y = 0; y < h; y++)
            for (int x = 0; x < w; x++)
                pData[(h - 1 - y) * w + (w - 1 - x)] = pSrc[y * w + x];
        m_nWidth = w;
        m_nHeight = h;
        break;
    case 270:
        // Source (x, y) lands at column y of row w-1-x.
        for (int y = 0; y < h; y++)
            for (int x = 0; x < w; x++)
                pData[(w - 1 - x) * h + y] = pSrc[y * w + x];
        m_nWidth = h;
        m_nHeight = w;
        break;
    default:
        for (int i = 0; i < w * h; i++)
            pData[i] = pSrc[i];
        m_nWidth = w;
        m_nHeight = h;
        break;
    }
    m_nColorCount = other.m_nColorCount;
    m_pData = pData;
    m_bOwnsData = true;
}

glyph::~glyph() { Empty(); }

void glyph::Empty()
{
    if (m_bOwnsData && m_pData != NULL)
        delete[] const_cast<UINT*>(m_pData);
    m_nWidth = 0;
    m_nHeight = 0;
    m_nColorCount = 1;
    m_pData = NULL;
    m_bOwnsData = false;
}

SIZE glyph::GetSize() const
{
    SIZE sz = {m_nWidth, m_nHeight};
    return sz;
}

UINT glyph::GetAt(int x, int y) const
{
    if (IsEmpty() || x < 0 || y < 0 || x >= m_nWidth || y >= m_nHeight)
        return 0;
    return m_pData[y * m_nWidth + x];
}

bool glyph::stat_FilterTransparent(const glyph&, int, int, UINT nColorIndex, LPARAM)
{
    return nColorIndex == 0;
}

namespace {

void Widen(int x, int y, int* pLeft, int* pTop, int* pRight, int* pBottom)
{
    if (pLeft != NULL && *pLeft > x)
        *pLeft = x;
    if (pTop != NULL && *pTop > y)
        *pTop = y;
    if (pRight != NULL && *pRight < x)
        *pRight = x;
    if (pBottom != NULL && *pBottom < y)
        *pBottom = y;
}

void StartBounds(int w, int h, int* pLeft, int* pTop, int* pRight, int* pBottom)
{
    // A set without pixels keeps these: left and top past the glyph, right and bottom
    // before it.
    if (pLeft != NULL)
        *pLeft = w;
    if (pTop != NULL)
        *pTop = h;
    if (pRight != NULL)
        *pRight = -1;
    if (pBottom != NULL)
        *pBottom = -1;
}

}  // namespace

CRgn& glyph::GenerateRegion(CRgn& rgn, pfnRegionFilter pfnFilter, LPARAM lParam, int* pIncLeft,
                            int* pIncTop, int* pIncRight, int* pIncBottom, int* pExcLeft,
                            int* pExcTop, int* pExcRight, int* pExcBottom) const
{
    if (rgn.GetSafeHandle() != NULL)
        rgn.DeleteObject();
    if (m_nWidth <= 0 || m_nHeight <= 0)
        return rgn;
    if (!rgn.CreateRectRgn(0, 0, 0, 0))
        return rgn;
    StartBounds(m_nWidth, m_nHeight, pIncLeft, pIncTop, pIncRight, pIncBottom);
    StartBounds(m_nWidth, m_nHeight, pExcLeft, pExcTop, pExcRight, pExcBottom);
    for (int x = 0; x < m_nWidth; x++)
    {
        for (int y = 0; y < m_nHeight; y++)
        {
            const UINT nIndex = (m_pData != NULL) ? m_pData[y * m_nWidth + x] : 0;
            if (pfnFilter != NULL && pfnFilter(*this, x, y, nIndex, lParam))
            {
                Widen(x, y, pExcLeft, pExcTop, pExcRight, pExcBottom);
                continue;
            }
            Widen(x, y, pIncLeft, pIncTop, pIncRight, pIncBottom);
            HRGN hPixel = ::CreateRectRgn(x, y, x + 1, y + 1);
            if (hPixel == NULL)
                return rgn;
            ::CombineRgn((HRGN)rgn.GetSafeHandle(), (HRGN)rgn.GetSafeHandle(), hPixel, RGN_OR);
            ::DeleteObject(hPixel);
        }
    }
    return rgn;
}

// ---- the built-in pictures ---------------------------------------------------------------

namespace {

template <int W, int H>
struct Pixels
{
    UINT v[W * H];
};

// Reads the rows of a picture: '.' is index 0, a digit is that index; anything else
// (spaces) is skipped. A picture of the wrong size does not compile.
template <int W, int H, size_t N>
constexpr Pixels<W, H> Picture(const char (&s)[N])
{
    Pixels<W, H> p{};
    int n = 0;
    for (size_t i = 0; i + 1 < N; i++)
    {
        const char c = s[i];
        if (c == '.' || (c >= '0' && c <= '9'))
        {
            if (n >= W * H)
                throw "picture too large";
            p.v[n++] = (c == '.') ? 0u : (UINT)(c - '0');
        }
    }
    if (n != W * H)
        throw "picture too small";
    return p;
}

constexpr auto g_pxEmpty9 = Picture<9, 9>(
    "........."
    "........."
    "........."
    "........."
    "........."
    "........."
    "........."
    "........."
    ".........");
constexpr auto g_pxCrossBold = Picture<9, 9>(
    "........."
    ".11....11"
    "..11..11."
    "...1111.."
    "....11..."
    "...1111.."
    "..11..11."
    ".11....11"
    ".........");
constexpr auto g_pxTriangleUp = Picture<9, 9>(
    "........."
    "........."
    "....1...."
    "...111..."
    "..11111.."
    ".1111111."
    "........."
    "........."
    ".........");
constexpr auto g_pxMinimize = Picture<9, 9>(
    "........."
    "........."
    "........."
    "........."
    "........."
    "........."
    ".1111111."
    ".1111111."
    ".........");
constexpr auto g_pxRestore = Picture<9, 9>(
    "..111111."
    "..1....1."
    "111111.1."
    "111111.1."
    "1....111."
    "1....1..."
    "1....1..."
    "111111..."
    ".........");
constexpr auto g_pxMaximize = Picture<9, 9>(
    "111111111"
    "111111111"
    "1.......1"
    "1.......1"
    "1.......1"
    "1.......1"
    "1.......1"
    "111111111"
    ".........");
constexpr auto g_pxQuestion = Picture<9, 9>(
    "...111..."
    "..1...1.."
    "......1.."
    ".....1..."
    "....1...."
    "....1...."
    "........."
    "....1...."
    ".........");
constexpr auto g_pxPin = Picture<9, 9>(
    "..11111.."
    "..1..11.."
    "..1..11.."
    "..1..11.."
    ".1111111."
    "....1...."
    "....1...."
    "....1...."
    ".........");
constexpr auto g_pxArrowUp = Picture<9, 9>(
    "....1...."
    "...111..."
    "..1.1.1.."
    ".1..1..1."
    "....1...."
    "....1...."
    "....1...."
    "....1...."
    "....1....");
constexpr auto g_pxCrossThin = Picture<9, 9>(
    "........."
    ".1.....1."
    "..1...1.."
    "...1.1..."
    "....1...."
    "...1.1..."
    "..1...1.."
    ".1.....1."
    ".........");
constexpr auto g_pxTriangleUpOutline = Picture<9, 9>(
    "........."
    "........."
    "....1...."
    "...1.1..."
    "..1...1.."
    ".1111111."
    "........."
    "........."
    ".........");
constexpr auto g_pxCrossBoldSmall = Picture<9, 9>(
    "........."
    "........."
    "..11..11."
    "...1111.."
    "....11..."
    "...1111.."
    "..11..11."
    "........."
    ".........");
constexpr auto g_pxPlusSmall = Picture<9, 9>(
    "........."
    "........."
    "....1...."
    "....1...."
    "..11111.."
    "....1...."
    "....1...."
    "........."
    ".........");
constexpr auto g_pxMinusSmall = Picture<9, 9>(
    "........."
    "........."
    "........."
    "........."
    "..11111.."
    "........."
    "........."
    "........."
    ".........");
constexpr auto g_pxPlusBoxed = Picture<9, 9>(
    "111111111"
    "1.......1"
    "1...1...1"
    "1...1...1"
    "1.11111.1"
    "1...1...1"
    "1...1...1"
    "1.......1"
    "111111111");
constexpr auto g_pxMinusBoxed = Picture<9, 9>(
    "111111111"
    "1.......1"
    "1.......1"
    "1.......1"
    "1.11111.1"
    "1.......1"
    "1.......1"
    "1.......1"
    "111111111");
constexpr auto g_pxPlusCircled = Picture<9, 9>(
    "..11111.."
    ".1.....1."
    "1...1...1"
    "1...1...1"
    "1.11111.1"
    "1...1...1"
    "1...1...1"
    ".1.....1."
    "..11111..");
constexpr auto g_pxMinusCircled = Picture<9, 9>(
    "..11111.."
    ".1.....1."
    "1.......1"
    "1.......1"
    "1.11111.1"
    "1.......1"
    "1.......1"
    ".1.....1."
    "..11111..");
constexpr auto g_pxArrowUpLarge = Picture<11, 11>(
    ".....1....."
    "....111...."
    "...1.1.1..."
    "..1..1..1.."
    ".1...1...1."
    ".....1....."
    ".....1....."
    ".....1....."
    ".....1....."
    ".....1....."
    ".....1.....");
constexpr auto g_pxArrowTopLeft = Picture<11, 11>(
    "11111......"
    "11........."
    "1.1........"
    "1..1......."
    "1...1......"
    ".....1....."
    "......1...."
    ".......1..."
    "........1.."
    ".........1."
    "...........");
constexpr auto g_pxTriangleUpSmall = Picture<5, 3>(
    "..1.."
    ".111."
    "11111");
constexpr auto g_pxEllipsis = Picture<9, 3>(
    "........."
    ".1..1..1."
    ".........");
constexpr auto g_pxTriangleUp3d = Picture<10, 10>(
    "....11...."
    "....11...."
    "...1311..."
    "...3..1..."
    "..11..11.."
    "..3....1.."
    ".11....11."
    ".3......1."
    "11......11"
    "1222222222");
constexpr auto g_pxTriangleDown3d = Picture<10, 10>(
    "1222222222"
    "11......11"
    ".3......1."
    ".11....11."
    "..3....1.."
    "..11..11.."
    "...3..1..."
    "...1311..."
    "....11...."
    "....11....");
constexpr auto g_pxBarOverDown7 = Picture<7, 7>(
    "1111111"
    "......."
    "1111111"
    ".11111."
    "..111.."
    "...1..."
    ".......");
constexpr auto g_pxChevronOverDown = Picture<7, 12>(
    "11.11.."
    ".11.11."
    "..11.11"
    ".11.11."
    "11.11.."
    "......."
    "......."
    "......."
    "1111111"
    ".11111."
    "..111.."
    "...1...");
constexpr auto g_pxPlusBoxedFilled = Picture<9, 9>(
    "111111111"
    "122222221"
    "122212221"
    "122212221"
    "121111121"
    "122212221"
    "122212221"
    "122222221"
    "111111111");
constexpr auto g_pxMinusBoxedFilled = Picture<9, 9>(
    "111111111"
    "122222221"
    "122222221"
    "122222221"
    "121111121"
    "122222221"
    "122222221"
    "122222221"
    "111111111");
constexpr auto g_pxBarAboveUp = Picture<7, 7>(
    "1111111"
    "......."
    "...1..."
    "..111.."
    ".11111."
    "1111111"
    ".......");
constexpr auto g_pxBarLeftOfLeft = Picture<7, 7>(
    "1....1."
    "1...11."
    "1..111."
    "1.1111."
    "1..111."
    "1...11."
    "1....1.");
constexpr auto g_pxDownAboveBar = Picture<7, 7>(
    "......."
    "1111111"
    ".11111."
    "..111.."
    "...1..."
    "......."
    "1111111");
constexpr auto g_pxRightBeforeBar = Picture<7, 7>(
    ".1....1"
    ".11...1"
    ".111..1"
    ".1111.1"
    ".111..1"
    ".11...1"
    ".1....1");
constexpr auto g_pxTriangleUpWide = Picture<9, 5>(
    "....1...."
    "...111..."
    "..11111.."
    ".1111111."
    "111111111");
constexpr auto g_pxDropDown = Picture<5, 3>(
    "11111"
    ".111."
    "..1..");
constexpr auto g_pxBarOverDown5 = Picture<5, 6>(
    "11111"
    "....."
    "11111"
    ".111."
    "..1.."
    ".....");
constexpr auto g_pxDoubleChevronRight = Picture<8, 5>(
    "11..11.."
    ".11..11."
    "..11..11"
    ".11..11."
    "11..11..");
constexpr auto g_pxTwoRightTriangles = Picture<6, 5>(
    "1..1.."
    "11.11."
    "111111"
    "11.11."
    "1..1..");
constexpr auto g_pxMenuRightArrow = Picture<12, 16>(
    "............"
    "............"
    "............"
    "............"
    ".....1......"
    ".....11....."
    ".....111...."
    ".....1111..."
    ".....111...."
    ".....11....."
    ".....1......"
    "............"
    "............"
    "............"
    "............"
    "............");
constexpr auto g_pxMenuRightArrowLine = Picture<12, 16>(
    "............"
    "..1........."
    "..1........."
    "..1........."
    "..1..1......"
    "..1..11....."
    "..1..111...."
    "..1..1111..."
    "..1..111...."
    "..1..11....."
    "..1..1......"
    "..1........."
    "..1........."
    "..1........."
    "..1........."
    "............");
constexpr auto g_pxDoubleChevronUp = Picture<7, 8>(
    "...1..."
    "..111.."
    ".11.11."
    "11...11"
    "...1..."
    "..111.."
    ".11.11."
    "11...11");
constexpr auto g_pxDoubleChevronDown = Picture<7, 8>(
    "11...11"
    ".11.11."
    "..111.."
    "...1..."
    "11...11"
    ".11.11."
    "..111.."
    "...1...");

}  // namespace

// The 71 glyph objects, in construction order: first those given by data, then the
// rotated copies (which need their source constructed).
static const glyph g_glyphEmpty(9, 9, 1, g_pxEmpty9.v);
static const glyph g_glyphCrossBold(9, 9, 2, g_pxCrossBold.v);
static const glyph g_glyphTriangleUp(9, 9, 2, g_pxTriangleUp.v);
static const glyph g_glyphMinimize(9, 9, 2, g_pxMinimize.v);
static const glyph g_glyphRestore(9, 9, 2, g_pxRestore.v);
static const glyph g_glyphMaximize(9, 9, 2, g_pxMaximize.v);
static const glyph g_glyphQuestion(9, 9, 2, g_pxQuestion.v);
static const glyph g_glyphPin(9, 9, 2, g_pxPin.v);
static const glyph g_glyphArrowUp(9, 9, 2, g_pxArrowUp.v);
static const glyph g_glyphCrossThin(9, 9, 2, g_pxCrossThin.v);
static const glyph g_glyphTriangleUpOutline(9, 9, 2, g_pxTriangleUpOutline.v);
static const glyph g_glyphCrossBoldSmall(9, 9, 2, g_pxCrossBoldSmall.v);
static const glyph g_glyphPlusSmall(9, 9, 2, g_pxPlusSmall.v);
static const glyph g_glyphMinusSmall(9, 9, 2, g_pxMinusSmall.v);
static const glyph g_glyphPlusBoxed(9, 9, 2, g_pxPlusBoxed.v);
static const glyph g_glyphMinusBoxed(9, 9, 2, g_pxMinusBoxed.v);
static const glyph g_glyphPlusCircled(9, 9, 2, g_pxPlusCircled.v);
static const glyph g_glyphMinusCircled(9, 9, 2, g_pxMinusCircled.v);
static const glyph g_glyphArrowUpLarge(11, 11, 2, g_pxArrowUpLarge.v);
static const glyph g_glyphArrowTopLeft(11, 11, 2, g_pxArrowTopLeft.v);
static const glyph g_glyphTriangleUpSmall(5, 3, 2, g_pxTriangleUpSmall.v);
static const glyph g_glyphEllipsis(9, 3, 2, g_pxEllipsis.v);
static const glyph g_glyphTriangleUp3d(10, 10, 4, g_pxTriangleUp3d.v);
static const glyph g_glyphTriangleDown3d(10, 10, 4, g_pxTriangleDown3d.v);
static const glyph g_glyphBarOverDown7(7, 7, 2, g_pxBarOverDown7.v);
static const glyph g_glyphChevronOverDown(7, 12, 2, g_pxChevronOverDown.v);
static const glyph g_glyphPlusBoxedFilled(9, 9, 3, g_pxPlusBoxedFilled.v);
static const glyph g_glyphMinusBoxedFilled(9, 9, 3, g_pxMinusBoxedFilled.v);
static const glyph g_glyphBarAboveUp(7, 7, 2, g_pxBarAboveUp.v);
static const glyph g_glyphBarLeftOfLeft(7, 7, 2, g_pxBarLeftOfLeft.v);
static const glyph g_glyphDownAboveBar(7, 7, 2, g_pxDownAboveBar.v);
static const glyph g_glyphRightBeforeBar(7, 7, 2, g_pxRightBeforeBar.v);
static const glyph g_glyphTriangleUpWide(9, 5, 2, g_pxTriangleUpWide.v);
const glyph g_glyphDropArrowDown(5, 3, 2, g_pxDropDown.v);
const glyph g_glyphBarOverDown(5, 6, 2, g_pxBarOverDown5.v);
const glyph g_glyphDoubleChevronRight(8, 5, 2, g_pxDoubleChevronRight.v);
const glyph g_glyphTwoRightTriangles(6, 5, 2, g_pxTwoRightTriangles.v);
const glyph g_glyphMenuRightArrow(12, 16, 2, g_pxMenuRightArrow.v);
const glyph g_glyphMenuRightArrowLine(12, 16, 2, g_pxMenuRightArrowLine.v);
const glyph g_glyphDoubleChevronUp7x8(7, 8, 2, g_pxDoubleChevronUp.v);
const glyph g_glyphDoubleChevronDown7x8(7, 8, 2, g_pxDoubleChevronDown.v);

static const glyph g_glyphTriangleDown(g_glyphTriangleUp, 180);
static const glyph g_glyphTriangleLeft(g_glyphTriangleUp, 270);
static const glyph g_glyphTriangleRight(g_glyphTriangleLeft, 180);
static const glyph g_glyphPinLying(g_glyphPin, 90);
static const glyph g_glyphArrowDown(g_glyphArrowUp, 180);
static const glyph g_glyphArrowLeft(g_glyphArrowUp, 270);
static const glyph g_glyphArrowRight(g_glyphArrowUp, 90);
static const glyph g_glyphTriangleDownOutline(g_glyphTriangleUpOutline, 180);
static const glyph g_glyphTriangleLeftOutline(g_glyphTriangleUpOutline, 270);
static const glyph g_glyphTriangleRightOutline(g_glyphTriangleUpOutline, 90);
static const glyph g_glyphArrowDownLarge(g_glyphArrowUpLarge, 180);
static const glyph g_glyphArrowLeftLarge(g_glyphArrowUpLarge, 270);
static const glyph g_glyphArrowRightLarge(g_glyphArrowUpLarge, 90);
static const glyph g_glyphArrowTopRight(g_glyphArrowTopLeft, 90);
static const glyph g_glyphArrowBottomRight(g_glyphArrowTopLeft, 180);
static const glyph g_glyphArrowBottomLeft(g_glyphArrowTopLeft, 270);
static const glyph g_glyphTriangleDownSmall(g_glyphTriangleUpSmall, 180);
static const glyph g_glyphTriangleLeftSmall(g_glyphTriangleUpSmall, 270);
static const glyph g_glyphTriangleRightSmall(g_glyphTriangleUpSmall, 90);
static const glyph g_glyphTriangleLeft3d(g_glyphTriangleDown3d, 90);
static const glyph g_glyphTriangleRight3d(g_glyphTriangleUp3d, 90);
static const glyph g_glyphTriangleDownWide(g_glyphTriangleUpWide, 180);
static const glyph g_glyphTriangleLeftWide(g_glyphTriangleUpWide, 270);
static const glyph g_glyphTriangleRightWide(g_glyphTriangleUpWide, 90);
const glyph g_glyphDropArrowLeft(g_glyphDropArrowDown, 90);
const glyph g_glyphDropArrowRight(g_glyphDropArrowDown, 270);
const glyph g_glyphBarOverDown90(g_glyphBarOverDown, 90);
const glyph g_glyphBarOverDown270(g_glyphBarOverDown, 270);
const glyph g_glyphDoubleChevronDown(g_glyphDoubleChevronRight, 90);
const glyph g_glyphTwoDownTriangles(g_glyphTwoRightTriangles, 90);

const glyph* const g_ButtonGlyphs[__GLYPH_BUTTON_COUNT] = {
    &g_glyphEmpty,                // 0
    &g_glyphCrossBold,            // 1
    &g_glyphTriangleUp,           // 2
    &g_glyphTriangleDown,         // 3
    &g_glyphTriangleLeft,         // 4
    &g_glyphTriangleRight,        // 5
    &g_glyphMinimize,             // 6
    &g_glyphRestore,              // 7
    &g_glyphMaximize,             // 8
    &g_glyphQuestion,             // 9
    &g_glyphPin,                  // 10
    &g_glyphPinLying,             // 11
    &g_glyphArrowUp,              // 12
    &g_glyphArrowDown,            // 13
    &g_glyphArrowLeft,            // 14
    &g_glyphArrowRight,           // 15
    &g_glyphCrossThin,            // 16
    &g_glyphTriangleUpOutline,    // 17
    &g_glyphTriangleDownOutline,  // 18
    &g_glyphTriangleLeftOutline,  // 19
    &g_glyphTriangleRightOutline, // 20
    &g_glyphCrossBoldSmall,       // 21
    &g_glyphPlusSmall,            // 22
    &g_glyphMinusSmall,           // 23
    &g_glyphPlusBoxed,            // 24
    &g_glyphMinusBoxed,           // 25
    &g_glyphPlusCircled,          // 26
    &g_glyphMinusCircled,         // 27
    &g_glyphArrowUpLarge,         // 28
    &g_glyphArrowDownLarge,       // 29
    &g_glyphArrowLeftLarge,       // 30
    &g_glyphArrowRightLarge,      // 31
    &g_glyphArrowTopLeft,         // 32
    &g_glyphArrowTopRight,        // 33
    &g_glyphArrowBottomRight,     // 34
    &g_glyphArrowBottomLeft,      // 35
    &g_glyphTriangleUpSmall,      // 36
    &g_glyphTriangleDownSmall,    // 37
    &g_glyphTriangleLeftSmall,    // 38
    &g_glyphTriangleRightSmall,   // 39
    &g_glyphEllipsis,             // 40
    &g_glyphTriangleUp3d,         // 41
    &g_glyphTriangleDown3d,       // 42
    &g_glyphTriangleLeft3d,       // 43
    &g_glyphTriangleRight3d,      // 44
    &g_glyphBarOverDown7,         // 45
    &g_glyphChevronOverDown,      // 46
    &g_glyphPlusBoxedFilled,      // 47
    &g_glyphMinusBoxedFilled,     // 48
    &g_glyphBarAboveUp,           // 49
    &g_glyphBarLeftOfLeft,        // 50
    &g_glyphDownAboveBar,         // 51
    &g_glyphRightBeforeBar,       // 52
    &g_glyphTriangleUpWide,       // 53
    &g_glyphTriangleDownWide,     // 54
    &g_glyphTriangleLeftWide,     // 55
    &g_glyphTriangleRightWide,    // 56
};

// ---- drawing a glyph ---------------------------------------------------------------------

void CExtPaintManager::DrawGlyphPixels(CDC& dc, int x, int y, const glyph& aGlyph,
                                       const COLORREF* pColorValues)
{
    if (aGlyph.IsEmpty() || pColorValues == NULL)
        return;
    const int w = aGlyph.GetWidth(), h = aGlyph.GetHeight();
    RECT rc = {x, y, x + w, y + h};
    if (!dc.RectVisible(&rc))
        return;
    const UINT* pData = aGlyph.GetData();
    const UINT nColorCount = (UINT)aGlyph.GetColorCount();
    HDC hDC = dc.GetSafeHdc();
    for (int py = 0; py < h; py++)
        for (int px = 0; px < w; px++)
        {
            const UINT n = pData[py * w + px];
            // An index the glyph does not declare would read past the caller's array.
            if (n == 0 || n >= nColorCount)
                continue;
            ::SetPixel(hDC, x + px, y + py, pColorValues[n]);
        }
}

void CExtPaintManager::DrawGlyph(CDC& dc, const RECT& rcIn, const glyph& aGlyph,
                                 const COLORREF* pColorValues)
{
    RECT rc = rcIn;
    if (rc.left > rc.right)
        std::swap(rc.left, rc.right);
    if (rc.top > rc.bottom)
        std::swap(rc.top, rc.bottom);
    const int cx = rc.right - rc.left, cy = rc.bottom - rc.top;
    if (cx == 0 || cy == 0)
        return;
    const int w = aGlyph.GetWidth(), h = aGlyph.GetHeight();
    if (cx < w || cy < h)
        return;
    DrawGlyphPixels(dc, rc.left + (cx - w) / 2, rc.top + (cy - h) / 2, aGlyph, pColorValues);
}

// ---- glyph buttons -----------------------------------------------------------------------

CExtPaintManager::PAINTGLYPHBUTTONDATA::pfnQueryXpLook
    CExtPaintManager::PAINTGLYPHBUTTONDATA::g_pfnNcAreaMenuButtonXpLook = NULL;

CExtPaintManager::PAINTGLYPHBUTTONDATA::PAINTGLYPHBUTTONDATA(
    CObject* pHelperSrc, const RECT& rcButton, int nGlyphType, bool bHover, bool bPushed,
    bool bEnabled, bool bBarCaption, bool bCaptionActive, bool bNoGrow)
    : m_pHelperSrc(pHelperSrc),
      m_lParam(0),
      m_rcButton(rcButton),
      m_nGlyphType(nGlyphType),
      m_bHover(bHover),
      m_bPushed(bPushed),
      m_bEnabled(bEnabled),
      m_bBarCaption(bBarCaption),
      m_bCaptionActive(bCaptionActive),
      m_bNoGrow(bNoGrow),
      m_bReserved6(false),
      m_bReserved7(false)
{
}

namespace {

const glyph* ButtonGlyph(int nType)
{
    if (nType < 0 || nType >= __GLYPH_BUTTON_COUNT)
        return NULL;
    return g_ButtonGlyphs[nType];
}

void NormalizeRect(RECT& rc)
{
    if (rc.left > rc.right)
        std::swap(rc.left, rc.right);
    if (rc.top > rc.bottom)
        std::swap(rc.top, rc.bottom);
}

void AlignOddEdges(RECT& rc)
{
    // Odd extents put the glyph half a pixel off; the extra pixel goes to the left/top.
    if (((rc.right - rc.left) & 1) != 0)
        rc.left++;
    if (((rc.bottom - rc.top) & 1) != 0)
        rc.top++;
}

}  // namespace

void CExtPaintManager::DrawGlyphButton(CDC& dc, PAINTGLYPHBUTTONDATA& _pgbd)
{
    if (::IsRectEmpty(&_pgbd.m_rcButton) || !dc.RectVisible(&_pgbd.m_rcButton))
        return;
    const COLORREF clrFace = ::GetSysColor(COLOR_BTNFACE);
    const COLORREF clrShadow = ::GetSysColor(COLOR_BTNSHADOW);
    const COLORREF clrDkShadow = ::GetSysColor(COLOR_3DDKSHADOW);
    const COLORREF clrHilight = ::GetSysColor(COLOR_BTNHIGHLIGHT);
    const COLORREF arrColors[2] = {0, _pgbd.m_bEnabled ? RGB(0, 0, 0) : clrShadow};

    RECT rc = _pgbd.m_rcButton;
    NormalizeRect(rc);
    AlignOddEdges(rc);
    int nType = _pgbd.m_nGlyphType;
    if (nType == 1)
        nType = 21;
    if (!_pgbd.m_bNoGrow)
    {
        ::InflateRect(&rc, 1, 1);
        rc.left--;
        rc.top--;
    }
    dc.FillSolidRect(&rc, clrFace);

    const glyph* pGlyph = ButtonGlyph(nType);
    if (pGlyph != NULL)
    {
        RECT rcGlyph = rc;
        if (_pgbd.m_bPushed)
            ::OffsetRect(&rcGlyph, 1, 1);
        DrawGlyph(dc, rcGlyph, *pGlyph, arrColors);
    }

    if (_pgbd.m_bEnabled && _pgbd.m_bPushed)
        dc.Draw3dRect(&rc, clrShadow, clrHilight);
    else if (_pgbd.m_bEnabled && _pgbd.m_bHover)
    {
        dc.Draw3dRect(&rc, clrFace, clrDkShadow);
        ::InflateRect(&rc, -1, -1);
        dc.Draw3dRect(&rc, clrHilight, clrShadow);
    }
    else
        dc.Draw3dRect(&rc, clrHilight, clrShadow);
}

void CExtPaintManagerXP::DrawGlyphButton(CDC& dc, PAINTGLYPHBUTTONDATA& _pgbd)
{
    if (::IsRectEmpty(&_pgbd.m_rcButton) || !dc.RectVisible(&_pgbd.m_rcButton))
        return;
    const bool bHot = _pgbd.m_bHover && _pgbd.m_bEnabled;
    const bool bPushed = _pgbd.m_bPushed;
    COLORREF arrColors[2] = {0, 0};
    if (!_pgbd.m_bEnabled)
        arrColors[1] = LookupColor(COLOR_BTNSHADOW);
    else if (!bHot && !bPushed)
        arrColors[1] = (_pgbd.m_bBarCaption && !_pgbd.m_bCaptionActive)
                           ? LookupColor(COLOR_3DDKSHADOW)
                           : LookupColor(COLOR_HIGHLIGHTTEXT);
    else
        arrColors[1] = RGB(0, 0, 0);

    RECT rc = _pgbd.m_rcButton;
    NormalizeRect(rc);
    if (bHot || bPushed)
    {
        dc.FillSolidRect(&rc, LookupColor(bPushed ? XPCLR_HILIGHT : CLR_3DFACE_IN));
        const COLORREF clrFrame =
            LookupColor(_pgbd.m_bCaptionActive ? XPCLR_HILIGHT : XPCLR_HILIGHT_BORDER);
        RECT rcFrame = rc;
        ::InflateRect(&rcFrame, 1, 1);
        dc.Draw3dRect(&rcFrame, clrFrame, clrFrame);
    }
    AlignOddEdges(rc);
    int nType = _pgbd.m_nGlyphType;
    if (nType == 1 && _pgbd.m_bBarCaption && !_pgbd.m_bNoGrow)
        nType = 16;
    const glyph* pGlyph = ButtonGlyph(nType);
    if (pGlyph != NULL)
        DrawGlyph(dc, rc, *pGlyph, arrColors);
}

void CExtPaintManagerStudio2005::DrawGlyphButton(CDC& dc, PAINTGLYPHBUTTONDATA& _pgbd)
{
    if (_pgbd.m_bBarCaption && _pgbd.m_bNoGrow)
    {
        // The bars' hook answers false for any asker but their menu caption button.
        const bool bXpLook = _pgbd.m_pHelperSrc != NULL &&
                             PAINTGLYPHBUTTONDATA::g_pfnNcAreaMenuButtonXpLook != NULL &&
                             PAINTGLYPHBUTTONDATA::g_pfnNcAreaMenuButtonXpLook(_pgbd.m_pHelperSrc);
        if (bXpLook)
            CExtPaintManagerOffice2003::DrawGlyphButton(dc, _pgbd);
        else
            CExtPaintManager::DrawGlyphButton(dc, _pgbd);
        return;
    }
    CExtPaintManagerOffice2003::DrawGlyphButton(dc, _pgbd);
}

// ---- grid cell glyphs --------------------------------------------------------------------

namespace {
constexpr auto g_pxGridSortUp = Picture<10, 10>(
    ".........."
    "....13...."
    "....12...."
    "...1..2..."
    "...1..2..."
    "..1....2.."
    "..1....2.."
    ".1......2."
    ".22222222."
    "..........");
constexpr auto g_pxGridSortDown = Picture<10, 10>(
    ".........."
    ".11111111."
    ".1......2."
    "..1....2.."
    "..1....2.."
    "...1..2..."
    "...1..2..."
    "....12...."
    "....32...."
    "..........");
constexpr auto g_pxGridFocusRight = Picture<4, 7>(
    "1..."
    "11.."
    "111."
    "1111"
    "111."
    "11.."
    "1...");
constexpr auto g_pxGridEllipsis = Picture<8, 2>(
    "11.11.11"
    "11.11.11");
}  // namespace

const glyph g_glyphGridSortArrowUp(10, 10, 4, g_pxGridSortUp.v);
const glyph g_glyphGridSortArrowDown(10, 10, 4, g_pxGridSortDown.v);
const glyph g_glyphGridEllipsis(8, 2, 2, g_pxGridEllipsis.v);
static const glyph g_glyphGridFocusRight(4, 7, 2, g_pxGridFocusRight.v);
const glyph g_glyphGridSortArrowLeft(g_glyphGridSortArrowUp, 270);
const glyph g_glyphGridSortArrowRight(g_glyphGridSortArrowDown, 270);
static const glyph g_glyphGridFocusDown(g_glyphGridFocusRight, 90);
static const glyph g_glyphGridFocusLeft(g_glyphGridFocusRight, 180);
static const glyph g_glyphGridFocusUp(g_glyphGridFocusRight, 270);
const glyph g_glyphDropArrowUp(g_glyphDropArrowDown, 180);
const glyph* const g_GridFocusArrowGlyphs[6] = {
    NULL, NULL, &g_glyphGridFocusUp, &g_glyphGridFocusDown, &g_glyphGridFocusLeft, &g_glyphGridFocusRight,
};
