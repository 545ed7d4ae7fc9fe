// Scaling against the resampling worked out in doubles, as the image format's scaler is
// defined: every channel of every output pixel within one unit of it, for every filter,
// shrinking, enlarging and both at once, with and without alpha.
#include <gtest/gtest.h>

#include <math.h>
#include <vector>

#include "bmp_builder.h"

namespace {

typedef std::vector<std::vector<double>> Image;  // [row in storage order][x * 4 + channel]

struct Tap {
    int left;
    std::vector<double> w;
};

std::vector<Tap> Weights(const CExtBitmap::Filter& f, int D, int S) {
    const double scale = (double)D / S;
    double width = f.GetWidth(), factor = 1.0;
    if (scale < 1.0) {
        width /= scale;
        factor = scale;
    }
    const int window = 2 * (int)ceil(width) + 1;
    std::vector<Tap> taps((size_t)D);
    for (int u = 0; u < D; u++) {
        const double centre = u / scale + (0.5 / scale - 0.5);
        int left = std::max(0, (int)floor(centre - width)), right = std::min(S - 1, (int)ceil(centre + width));
        if (right - left + 1 > window) (left < S ? left : right) += (left < S ? 1 : -1);
        double sum = 0.0;
        for (int i = left; i <= right; i++) {
            taps[u].w.push_back(f.Process((centre - i) * factor) * factor);
            sum += taps[u].w.back();
        }
        if (sum > 0.0 && sum != 1.0) {
            for (double& w : taps[u].w) w /= sum;
            while (taps[u].w.size() > 1 && taps[u].w.back() == 0.0) taps[u].w.pop_back();
        }
        taps[u].left = left;
    }
    return taps;
}

double Rounded(double v) {
    double t = trunc(v + 0.5);
    return t < 0.0 ? 0.0 : t > 255.0 ? 255.0 : t;
}

// One pass; rows and columns swap roles through the accessor.
Image Pass(const Image& src, const CExtBitmap::Filter& f, bool bAcross, int D, bool bAlpha) {
    const int H = (int)src.size(), W = (int)src[0].size() / 4;
    const int S = bAcross ? W : H;
    Image out(bAcross ? H : D, std::vector<double>((size_t)(bAcross ? D : W) * 4));
    if (D == S) return src;
    std::vector<Tap> taps = Weights(f, D, S);
    for (size_t r = 0; r < out.size(); r++)
        for (size_t x = 0; x < out[r].size() / 4; x++) {
            const Tap& t = taps[bAcross ? x : r];
            double acc[4] = {0, 0, 0, 0};
            for (size_t i = 0; i < t.w.size(); i++) {
                const double* p = bAcross ? &src[r][(t.left + i) * 4] : &src[t.left + i][x * 4];
                for (int k = 0; k < 4; k++) acc[k] += k < 3 && bAlpha ? p[k] * t.w[i] * p[3] / 255.0 : p[k] * t.w[i];
            }
            for (int k = 0; k < 4; k++) out[r][x * 4 + k] = Rounded(acc[k]);
        }
    return out;
}

}  // namespace

struct Size { int cx, cy; };

void ExpectWithinOneUnit(int W, int H, const std::vector<Size>& sizes) {
    for (bool bAlpha : {true, false}) {
        CExtBitmap src;
        ASSERT_TRUE(bmptest::Make32(src, W, H, [&](int x, int y) {
            DWORD v = (DWORD)(x * 2654435761u ^ y * 40503u) * 2246822519u;
            return bAlpha ? v : v | 0xFF000000u;
        }));
        Image img(H, std::vector<double>(W * 4));
        for (int r = 0; r < H; r++)
            for (int x = 0; x < W; x++)
                for (int k = 0; k < 4; k++) img[r][x * 4 + k] = (bmptest::Argb(src, x, H - 1 - r) >> (k * 8)) & 0xFF;
        for (int type = 0; type < CExtBitmap::__FT_COUNT; type++)
            for (const Size& sz : sizes) {
                if (sz.cx > 100 && type != CExtBitmap::__FT_LANCZOS) continue;
                SCOPED_TRACE(testing::Message() << "filter " << type << " to " << sz.cx << "x" << sz.cy << " alpha " << bAlpha);
                CExtBitmap::Filter f(type);
                bool bVerticalFirst = (long long)H * sz.cx > (long long)W * sz.cy;
                Image want = bVerticalFirst ? Pass(Pass(img, f, false, sz.cy, true), f, true, sz.cx, true)
                                            : Pass(Pass(img, f, true, sz.cx, true), f, false, sz.cy, true);
                CExtBitmap got;
                got.AssignFrom(src);
                ASSERT_TRUE(got.Scale(sz.cx, sz.cy, f));
                int nWorst = 0;
                for (int r = 0; r < sz.cy; r++)
                    for (int x = 0; x < sz.cx; x++) {
                        DWORD argb = bmptest::Argb(got, x, sz.cy - 1 - r);
                        for (int k = 0; k < 4; k++)
                            nWorst = std::max(nWorst, abs((int)((argb >> (k * 8)) & 0xFF) - (int)want[r][x * 4 + k]));
                    }
                EXPECT_LE(nWorst, 1);
            }
    }
}

TEST(BitmapScalePrecision, WithinOneUnitOfTheExactSums) {
    // The last one stretches far in one direction and shrinks in the other.
    ExpectWithinOneUnit(37, 23, {{13, 9}, {80, 51}, {19, 60}, {90, 7}, {1200, 500}});
    // exact halving, and halving one way only
    ExpectWithinOneUnit(36, 22, {{18, 11}, {18, 22}, {36, 11}});
}
