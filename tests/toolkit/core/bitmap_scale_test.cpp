// Scaling: the filter kernels and their settings, and resampled pixels worked out by
// hand for small images.
#include <gtest/gtest.h>

#include <math.h>

#include "bmp_builder.h"

using namespace bmptest;

namespace {

std::vector<int> GreyRow(const CExtBitmap& bmp)
{
    std::vector<int> v;
    for (int x = 0; x < bmp.GetSize().cx; x++)
        v.push_back((int)GetRValue(bmp.GetPixelColor(x, 0)));
    return v;
}

bool LoadGreyRow(CExtBitmap& bmp, std::vector<int> values)
{
    return Make24(bmp, (int)values.size(), 1, [&](int x, int) {
        BYTE g = (BYTE)values[x];
        return RGB(g, g, g);
    });
}

}  // namespace

TEST(BitmapFilter, NamesWidthsAndParameters) {
    struct Row { int type; const char* name; double width; bool adjustable; } rows[] = {
        {0, "Box", 0.5, true},       {1, "Linear", 1.0, false},      {2, "Bilinear", 1.0, true},
        {3, "Hermite", 1.0, false},  {4, "Sinc", 1.0, false},        {5, "Catmull-Rom", 2.0, false},
        {6, "B-Spline", 2.0, false}, {7, "Blackman", 0.5, true},     {8, "Lanczos", 3.0, true},
        {9, "Quadratic", 1.0, false}, {10, "Gaussian", 3.0, true},   {11, "Hamming", 0.5, true},
        {12, "Bicubic", 2.0, false}, {13, "", 1.0, false},           {-1, "", 1.0, false},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.type);
        CExtBitmap::Filter f(r.type);
        EXPECT_STREQ(r.name, f.GetName());
        EXPECT_EQ(r.width, f.GetWidth());
        EXPECT_EQ(r.adjustable, f.IsWidthAdjustable());
        EXPECT_EQ(10, f.GetParamCount());
        EXPECT_EQ(r.type, f.GetType());
    }
    CExtBitmap::Filter f(CExtBitmap::__FT_LANCZOS);
    f.SetWidth(2.0);
    EXPECT_EQ(2.0, f.GetWidth());
    f.SetType(CExtBitmap::__FT_BOX);  // the type alone changes
    EXPECT_EQ(2.0, f.GetWidth());
    f.SetDefaultWidth();
    EXPECT_EQ(0.5, f.GetWidth());
    f.SetParam(3, 7.5);
    f.SetParam(10, 1.0);
    f.SetParam(-1, 1.0);
    EXPECT_EQ(7.5, f.GetParam(3));
    EXPECT_EQ(0.0, f.GetParam(10));
    EXPECT_EQ(0.0, f.GetParam(-1));
    const double many[12] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
    CExtBitmap::Filter g(CExtBitmap::__FT_GAUSSIAN, many, 12);  // only ten are kept
    EXPECT_EQ(10.0, g.GetParam(9));
}

TEST(BitmapFilter, Kernels) {
    const double pi = 3.141592653589793;
    struct K { int type; double x, value; } ks[] = {
        {0, 0.5, 1.0}, {0, 0.51, 0.0}, {0, -0.5, 1.0},
        {1, -0.25, 0.75}, {1, 0.25, 0.75}, {1, 1.0, 0.0},
        {2, 0.25, 0.75}, {2, -1.0, 0.0},
        {3, 0.5, 0.5}, {3, -1.0, 0.0}, {3, 1.0, 0.0},
        {4, 0.0, 1.0}, {4, 0.5, 2.0 / pi}, {4, 7.0, 0.0},
        {5, 0.0, 1.0}, {5, 1.0, 0.0}, {5, -0.5, 0.5625}, {5, 1.5, -0.0625},
        {6, 0.0, 4.0 / 6.0}, {6, 1.0, 1.0 / 6.0}, {6, 2.0, 0.0},
        {7, 0.0, 1.0}, {7, 0.6, 0.0},
        {8, 0.0, 1.0}, {8, 3.0, 0.0}, {8, 1.0, 0.0},
        {9, 0.0, 0.75}, {9, 1.0, 0.125}, {9, -1.0, 0.125}, {9, 1.5, 0.0},
        {10, 0.0, 1.0 / sqrt(2.0 * pi)}, {10, 3.5, 0.0},
        {11, 0.0, 1.0}, {11, 0.5, (2.0 / pi) * 0.08}, {11, 0.6, 0.0},
        {12, 0.0, (6.0 - 2.0 / 3.0) / 6.0}, {12, 2.0, 0.0},
        {13, 0.0, 0.0},
    };
    for (const K& k : ks) {
        SCOPED_TRACE(testing::Message() << "type " << k.type << " at " << k.x);
        CExtBitmap::Filter f(k.type);
        EXPECT_NEAR(k.value, f.Process(k.x), 1e-12);
    }
    // Lanczos: sinc(x/3) * sinc(x)
    CExtBitmap::Filter lanczos(CExtBitmap::__FT_LANCZOS);
    double x = 0.5;
    EXPECT_NEAR((sin(pi * x / 3) / (pi * x / 3)) * (sin(pi * x) / (pi * x)), lanczos.Process(-x), 1e-12);
    // the width is read where the table says so
    CExtBitmap::Filter box(CExtBitmap::__FT_BOX);
    box.SetWidth(2.0);
    EXPECT_EQ(1.0, box.Process(1.9));
    CExtBitmap::Filter hermite(CExtBitmap::__FT_HERMITE);
    hermite.SetWidth(5.0);
    EXPECT_EQ(0.0, hermite.Process(2.0));
}

TEST(BitmapFilter, BicubicCoefficients) {
    const double bc[2] = {0.0, 0.5};
    CExtBitmap::Filter f(CExtBitmap::__FT_BICUBIC, bc, 2);
    EXPECT_EQ(0.0, f.GetParam(0));
    EXPECT_EQ(0.5, f.GetParam(1));
    EXPECT_DOUBLE_EQ(1.0, f.GetParam(2));   // P0
    EXPECT_DOUBLE_EQ(-2.5, f.GetParam(3));  // P2
    EXPECT_DOUBLE_EQ(1.5, f.GetParam(4));   // P3
    EXPECT_DOUBLE_EQ(2.0, f.GetParam(5));   // Q0
    EXPECT_DOUBLE_EQ(-4.0, f.GetParam(6));  // Q1
    EXPECT_DOUBLE_EQ(2.5, f.GetParam(7));   // Q2
    EXPECT_DOUBLE_EQ(-0.5, f.GetParam(8));  // Q3
    // B = 0, C = 0.5 is the Catmull-Rom spline
    CExtBitmap::Filter cr(CExtBitmap::__FT_CATMULL_ROM);
    for (double x : {-1.7, -0.3, 0.0, 0.6, 1.2, 1.99})
        EXPECT_NEAR(cr.Process(x), f.Process(x), 1e-12) << x;
    // later changes of B or C do not recompute the coefficients
    f.SetParam(0, 1.0);
    EXPECT_DOUBLE_EQ(1.0, f.GetParam(2));
    // without both values, B = C = 1/3
    const double one[1] = {0.9};
    CExtBitmap::Filter d(CExtBitmap::__FT_BICUBIC, one, 1);
    EXPECT_DOUBLE_EQ((6.0 - 2.0 / 3.0) / 6.0, d.GetParam(2));
}

TEST(BitmapScale, HandWorkedRows) {
    struct Case {
        const char* what;
        int type;
        std::vector<int> src;
        int cx;
        std::vector<int> expected;
    } cases[] = {
        // halving with the box: two source pixels of weight 0.5 each
        {"box half", 0, {0, 100, 200, 50}, 2, {50, 125}},
        // enlarging with the box repeats pixels
        {"box double", 0, {10, 250}, 4, {10, 10, 250, 250}},
        {"linear double", 1, {0, 200}, 4, {0, 50, 150, 200}},
        // negative lobes: the dark end undershoots (clamped to 0), the bright one overshoots
        {"catmull-rom double", 5, {0, 200}, 4, {0, 41, 159, 218}},
        {"box to one", 0, {0, 60, 120}, 1, {60}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CExtBitmap bmp;
        ASSERT_TRUE(LoadGreyRow(bmp, c.src));
        ASSERT_TRUE(bmp.Scale(c.cx, 1, CExtBitmap::Filter(c.type)));
        EXPECT_EQ(CSize(c.cx, 1), bmp.GetSize());
        EXPECT_EQ(24, bmp.GetBPP());
        EXPECT_EQ(c.expected, GreyRow(bmp));
    }
    // the columns are filtered the same way
    CExtBitmap col;
    ASSERT_TRUE(Make24(col, 1, 4, [](int, int y) {
        static const BYTE v[4] = {0, 100, 200, 50};
        return RGB(v[y], v[y], v[y]);
    }));
    ASSERT_TRUE(col.Scale(1, 2, CExtBitmap::Filter(CExtBitmap::__FT_BOX)));
    EXPECT_EQ(RGB(50, 50, 50), col.GetPixelColor(0, 0));
    EXPECT_EQ(RGB(125, 125, 125), col.GetPixelColor(0, 1));
}

TEST(BitmapScale, BoxRepeatsPixelsOfA2x2) {
    CExtBitmap bmp;
    const DWORD px[4] = {0xFF102030, 0xFF405060, 0xFF708090, 0xFFA0B0C0};
    ASSERT_TRUE(Make32(bmp, 2, 2, [&](int x, int y) { return px[y * 2 + x]; }));
    ASSERT_TRUE(bmp.Scale(4, 4, CExtBitmap::Filter(CExtBitmap::__FT_BOX)));
    for (int y = 0; y < 4; y++)
        for (int x = 0; x < 4; x++)
            EXPECT_EQ(px[(y / 2) * 2 + x / 2], Argb(bmp, x, y)) << x << "," << y;
    // to the same size: nothing to do
    EXPECT_TRUE(bmp.Scale(4, 4, CExtBitmap::Filter(CExtBitmap::__FT_LANCZOS)));
    EXPECT_EQ(px[0], Argb(bmp, 0, 0));
}

TEST(BitmapScale, EveryFilterKeepsAFlatImageFlat) {
    for (int type = 0; type <= 12; type++) {
        for (CSize to : {CSize(11, 7), CSize(2, 2), CSize(5, 1), CSize(1, 9)}) {
            SCOPED_TRACE(testing::Message() << CExtBitmap::Filter(type).GetName() << " to " << to.cx << "x" << to.cy);
            CExtBitmap bmp;
            ASSERT_TRUE(Make32(bmp, 5, 3, [](int, int) { return 0xFF406080u; }));
            ASSERT_TRUE(bmp.Scale(to.cx, to.cy, CExtBitmap::Filter(type)));
            ASSERT_EQ(to, bmp.GetSize());
            for (int y = 0; y < to.cy; y++)
                for (int x = 0; x < to.cx; x++)
                    ASSERT_EQ(0xFF406080u, Argb(bmp, x, y)) << x << "," << y;
        }
    }
}

TEST(BitmapScale, AlphaAndDepths) {
    // alpha-aware: the transparent white pixel adds nothing to the colour, and the
    // colour is not divided by alpha afterwards (darker than straight alpha)
    CExtBitmap bmp;
    ASSERT_TRUE(Make32(bmp, 2, 1, [](int x, int) { return x ? 0xFF000000u : 0x00FFFFFFu; }));
    ASSERT_TRUE(bmp.Scale(1, 1, CExtBitmap::Filter(CExtBitmap::__FT_BOX)));
    EXPECT_EQ(0x80000000u, Argb(bmp, 0, 0));
    CExtBitmap half;
    ASSERT_TRUE(Make32(half, 2, 1, [](int x, int) { return x ? 0x80FF0000u : 0x80FF0000u; }));
    ASSERT_TRUE(half.Scale(1, 1, CExtBitmap::Filter(CExtBitmap::__FT_BOX)));
    EXPECT_EQ(0x80800000u, Argb(half, 0, 0));

    // a 32-bit image without an alpha mask is filtered on all four bytes alike
    BmpLayout s;
    s.width = 2;
    s.bpp = 32;
    SetBitFields(s, 0xFF0000, 0xFF00, 0xFF);
    Put32(s.bits, 0x00FFFFFF);
    Put32(s.bits, 0xFF000000);
    std::vector<BYTE> data = Build(s);
    ASSERT_TRUE(bmp.LoadFromBuffer(data.data(), (DWORD)data.size()));
    ASSERT_TRUE(bmp.Scale(1, 1, CExtBitmap::Filter(CExtBitmap::__FT_BOX)));
    EXPECT_EQ(0x80808080u, Argb(bmp, 0, 0));

    // 16 bits are filtered as packed values, not by colour field
    BmpLayout w;
    w.width = 2;
    w.bpp = 16;
    Put16(w.bits, 0x0000);
    Put16(w.bits, 0x7FFF);
    data = Build(w);
    ASSERT_TRUE(bmp.LoadFromBuffer(data.data(), (DWORD)data.size()));
    ASSERT_TRUE(bmp.Scale(1, 1, CExtBitmap::Filter(CExtBitmap::__FT_BOX)));
    EXPECT_EQ(0xFF830000u, Argb(bmp, 0, 0));  // 0x4000: red field 16, green and blue 0

    // palette images, empty images and sizes below one fail and change nothing
    BmpLayout p;
    p.bpp = 8;
    p.clrUsed = 1;
    p.palette = {Quad(1, 2, 3)};
    p.bits = {0, 0, 0, 0};
    data = Build(p);
    ASSERT_TRUE(bmp.LoadFromBuffer(data.data(), (DWORD)data.size()));
    EXPECT_FALSE(bmp.Scale(4, 4, CExtBitmap::Filter()));
    EXPECT_EQ(CSize(1, 1), bmp.GetSize());
    ASSERT_TRUE(bmp.Make32());
    EXPECT_TRUE(bmp.Scale(4, 4, CExtBitmap::Filter()));
    EXPECT_FALSE(bmp.Scale(0, 4, CExtBitmap::Filter()));
    EXPECT_FALSE(bmp.Scale(4, -1, CExtBitmap::Filter()));
    EXPECT_FALSE(bmp.Scale(40000, 4, CExtBitmap::Filter()));  // no block that large
    EXPECT_EQ(CSize(4, 4), bmp.GetSize());
    CExtBitmap empty;
    EXPECT_FALSE(empty.Scale(2, 2, CExtBitmap::Filter()));
    // an unknown filter gives all-zero weights: black
    CExtBitmap grey;
    ASSERT_TRUE(LoadGreyRow(grey, {100, 100}));
    ASSERT_TRUE(grey.Scale(3, 1, CExtBitmap::Filter(99)));
    EXPECT_EQ(std::vector<int>({0, 0, 0}), GreyRow(grey));
}

// Every filter on one small image, along the rows and along the columns, enlarging to
// 8 and shrinking to 3; the values are worked out from the kernels, the weights table
// (window size, trimmed ends, normalisation) and rounding of each filter. A column is
// filtered in block-row order (bottom-up), so where the window's one-sided trim bites
// (Sinc, Quadratic) a column does not come out as the mirror of a row.
TEST(BitmapScale, EveryFilterOnASmallImage) {
    const std::vector<int> src = {10, 200, 40, 90, 250};
    struct Case {
        int type;
        std::vector<int> up, down, upColumn;
    } cases[] = {
        {0, {10, 10, 200, 40, 40, 90, 250, 250}, {105, 40, 170}, {}},
        {1, {10, 93, 190, 90, 56, 87, 180, 250}, {91, 87, 181}, {}},
        {2, {10, 93, 190, 90, 56, 87, 180, 250}, {91, 87, 181}, {}},
        {3, {10, 87, 198, 77, 52, 89, 185, 250}, {90, 83, 183}, {}},
        {4, {0, 103, 193, 90, 27, 77, 206, 255}, {95, 86, 178}, {0, 103, 201, 102, 27, 83, 206, 255}},
        {5, {0, 93, 199, 86, 36, 83, 189, 255}, {92, 85, 180}, {}},
        {6, {33, 96, 142, 100, 68, 102, 175, 230}, {90, 101, 160}, {}},
        {7, {10, 10, 200, 40, 40, 90, 250, 250}, {24, 40, 238}, {}},
        {8, {0, 98, 202, 99, 15, 78, 197, 255}, {97, 86, 175}, {}},
        {9, {22, 94, 172, 94, 57, 97, 180, 240}, {91, 96, 165}, {22, 94, 157, 94, 59, 81, 180, 240}},
        {10, {72, 93, 104, 103, 103, 121, 154, 187}, {92, 112, 142}, {}},
        {11, {10, 10, 200, 40, 40, 90, 250, 250}, {42, 40, 223}, {}},
        {12, {7, 94, 180, 91, 47, 90, 185, 252}, {92, 90, 174}, {}},
    };
    for (const Case& c : cases) {
        const CExtBitmap::Filter filter(c.type);
        SCOPED_TRACE(filter.GetName());
        CExtBitmap row;
        ASSERT_TRUE(LoadGreyRow(row, src));
        ASSERT_TRUE(row.Scale(8, 1, filter));
        EXPECT_EQ(c.up, GreyRow(row)) << "row enlarged";
        ASSERT_TRUE(LoadGreyRow(row, src));
        ASSERT_TRUE(row.Scale(3, 1, filter));
        EXPECT_EQ(c.down, GreyRow(row)) << "row shrunk";

        for (int cy : {8, 3}) {
            CExtBitmap col;
            ASSERT_TRUE(Make24(col, 1, 5, [&](int, int y) {
                BYTE g = (BYTE)src[y];
                return RGB(g, g, g);
            }));
            ASSERT_TRUE(col.Scale(1, cy, filter));
            std::vector<int> got;
            for (int y = 0; y < cy; y++)
                got.push_back((int)GetGValue(col.GetPixelColor(0, y)));
            const std::vector<int>& expected = cy == 3 ? c.down : (c.upColumn.empty() ? c.up : c.upColumn);
            EXPECT_EQ(expected, got) << "column to " << cy;
        }
    }
}
