// Resampling of CExtBitmap: the thirteen filter kernels and the two separable passes
// (rows, then columns or the other way round) that share one weights table.
// Palette images are not resampled; convert them to 32 bits first.
//
// The weights are worked out in doubles and applied in single precision: a channel sum
// has at most a few dozen terms below 65536, so floats keep it well inside half a unit,
// and 32-bit pixels go through SSE2 four channels at a time with the sums in registers.
#include "framework/framework.h"
#include "toolkit/core/bitmap.h"

#include <emmintrin.h>
#include <math.h>
#include <process.h>
#include <new>
#include <string.h>
#include <vector>

namespace {

const double kPi = 3.141592653589793;

// sin(pi * t), to within a few units in the last place. The argument is reduced exactly
// to [-1/2, 1/2] and summed by its series: the library's sin works in x87 long doubles,
// and the weights tables evaluate it thousands of times per pass.
double SinPi(double t)
{
    if (!(fabs(t) < 1e9))
        return sin(kPi * t);
    const double k = (double)(long long)(t * 0.5 + (t >= 0.0 ? 0.5 : -0.5));
    double r = t - 2.0 * k;  // in [-1, 1], exactly
    if (r > 0.5)
        r = 1.0 - r;
    else if (r < -0.5)
        r = -1.0 - r;
    const double x = kPi * r, x2 = x * x;
    // sin x = x (1 - x^2/3! + x^4/5! - ...), to x^23: below 2e-18 for |x| <= pi/2
    double p = -1.0 / 25852016738884976640000.0;
    p = p * x2 + 1.0 / 51090942171709440000.0;
    p = p * x2 - 1.0 / 121645100408832000.0;
    p = p * x2 + 1.0 / 355687428096000.0;
    p = p * x2 - 1.0 / 1307674368000.0;
    p = p * x2 + 1.0 / 6227020800.0;
    p = p * x2 - 1.0 / 39916800.0;
    p = p * x2 + 1.0 / 362880.0;
    p = p * x2 - 1.0 / 5040.0;
    p = p * x2 + 1.0 / 120.0;
    p = p * x2 - 1.0 / 6.0;
    return x + x * x2 * p;
}

inline double Sinc(double t)
{
    if (t == 0.0)
        return 1.0;
    return SinPi(t) / (kPi * t);
}

double SqrtTwoPi()
{
    static const double s_fValue = sqrt(2.0 * kPi);
    return s_fValue;
}

inline int ChannelBytes(int nBPP)
{
    return nBPP == 8 ? 1 : nBPP == 24 ? 3 : nBPP == 32 ? 4 : 0;
}

inline BYTE ToByte(float v)
{
    float t = v + 0.5f;
    if (t < 0.0f)
        return 0;
    if (t >= 255.0f)
        return 255;
    return (BYTE)(int)t;
}

inline WORD ToWord(float v)
{
    float t = v + 0.5f;
    if (t < 0.0f)
        return 0;
    if (t >= 65535.0f)
        return 65535;
    return (WORD)(int)t;
}

// Four channels of one 32-bit pixel as floats.
inline __m128 LoadPixel(const BYTE* p)
{
    int n;
    memcpy(&n, p, 4);
    const __m128i zero = _mm_setzero_si128();
    __m128i v = _mm_unpacklo_epi8(_mm_cvtsi32_si128(n), zero);
    return _mm_cvtepi32_ps(_mm_unpacklo_epi16(v, zero));
}

// A row of 32-bit pixels as four floats each; in alpha-aware mode the colours come
// weighted by their pixel's alpha over 255 (the alpha stays as it is), so that each tap
// of a pass is one multiply and one add.
void ConvertRow(const BYTE* p, int n, float* pOut, bool bAlphaAware)
{
    const __m128 kScale = _mm_set_ps(0.0f, 1.0f / 255.0f, 1.0f / 255.0f, 1.0f / 255.0f);
    const __m128 kOne = _mm_set_ps(1.0f, 0.0f, 0.0f, 0.0f);
    const __m128i zero = _mm_setzero_si128();
    int i = 0;
    for (; i + 4 <= n; i += 4, p += 16, pOut += 16)
    {
        const __m128i v = _mm_loadu_si128((const __m128i*)(const void*)p);
        const __m128i lo = _mm_unpacklo_epi8(v, zero), hi = _mm_unpackhi_epi8(v, zero);
        __m128 px[4] = {_mm_cvtepi32_ps(_mm_unpacklo_epi16(lo, zero)), _mm_cvtepi32_ps(_mm_unpackhi_epi16(lo, zero)),
                        _mm_cvtepi32_ps(_mm_unpacklo_epi16(hi, zero)), _mm_cvtepi32_ps(_mm_unpackhi_epi16(hi, zero))};
        for (int k = 0; k < 4; k++)
        {
            __m128 pixel = px[k];
            if (bAlphaAware)
            {
                __m128 alpha = _mm_shuffle_ps(pixel, pixel, _MM_SHUFFLE(3, 3, 3, 3));
                pixel = _mm_mul_ps(pixel, _mm_add_ps(_mm_mul_ps(alpha, kScale), kOne));
            }
            _mm_storeu_ps(pOut + 4 * k, pixel);
        }
    }
    for (; i < n; i++, p += 4, pOut += 4)
    {
        __m128 pixel = LoadPixel(p);
        if (bAlphaAware)
        {
            __m128 alpha = _mm_shuffle_ps(pixel, pixel, _MM_SHUFFLE(3, 3, 3, 3));
            pixel = _mm_mul_ps(pixel, _mm_add_ps(_mm_mul_ps(alpha, kScale), kOne));
        }
        _mm_storeu_ps(pOut, pixel);
    }
}

// The weighted sum of nTaps converted pixels side by side, over four independent sums
// so that the adds do not wait on one another.
inline __m128 SumTaps(const float* p, const float* w, int nTaps)
{
    __m128 s0 = _mm_setzero_ps(), s1 = _mm_setzero_ps();
    int i = 0;
    for (; i + 2 <= nTaps; i += 2, p += 8, w += 8)
    {
        s0 = _mm_add_ps(s0, _mm_mul_ps(_mm_loadu_ps(p), _mm_loadu_ps(w)));
        s1 = _mm_add_ps(s1, _mm_mul_ps(_mm_loadu_ps(p + 4), _mm_loadu_ps(w + 4)));
    }
    if (i < nTaps)
        s0 = _mm_add_ps(s0, _mm_mul_ps(_mm_loadu_ps(p), _mm_loadu_ps(w)));
    return _mm_add_ps(s0, s1);
}

// Rounds and clamps four sums to bytes, as ToByte does each.
inline void StorePixel(LPBYTE q, __m128 sum)
{
    __m128 t = _mm_add_ps(sum, _mm_set1_ps(0.5f));
    t = _mm_min_ps(_mm_max_ps(t, _mm_setzero_ps()), _mm_set1_ps(255.0f));
    __m128i v = _mm_cvttps_epi32(t);
    v = _mm_packs_epi32(v, v);
    v = _mm_packus_epi16(v, v);
    int n = _mm_cvtsi128_si32(v);
    memcpy(q, &n, 4);
}

}  // namespace

// ---- filters -----------------------------------------------------------------------------

double CExtBitmap::Filter::stat_GetDefaultWidth(int nType)
{
    switch (nType)
    {
    case __FT_BOX:
    case __FT_BLACKMAN:
    case __FT_HAMMING:
        return 0.5;
    case __FT_CATMULL_ROM:
    case __FT_B_SPLINE:
    case __FT_BICUBIC:
        return 2.0;
    case __FT_LANCZOS:
    case __FT_GAUSSIAN:
        return 3.0;
    default:
        return 1.0;
    }
}

bool CExtBitmap::Filter::stat_IsWidthAdjustable(int nType)
{
    switch (nType)
    {
    case __FT_BOX:
    case __FT_BILINEAR:
    case __FT_BLACKMAN:
    case __FT_LANCZOS:
    case __FT_GAUSSIAN:
    case __FT_HAMMING:
        return true;
    default:
        return false;
    }
}

LPCTSTR CExtBitmap::Filter::stat_GetName(int nType)
{
    static const LPCTSTR s_names[__FT_COUNT] = {
        _T("Box"),       _T("Linear"),   _T("Bilinear"),  _T("Hermite"),   _T("Sinc"),
        _T("Catmull-Rom"), _T("B-Spline"), _T("Blackman"), _T("Lanczos"), _T("Quadratic"),
        _T("Gaussian"),  _T("Hamming"),  _T("Bicubic")};
    if (nType < 0 || nType >= __FT_COUNT)
        return _T("");
    return s_names[nType];
}

CExtBitmap::Filter::Filter(int nType, const double* pParams, int nCount) : m_nType(nType), m_fWidth(1.0)
{
    SetDefaultWidth();
    for (int i = 0; i < __PARAM_COUNT; i++)
        m_arrParams[i] = 0.0;
    if (pParams != NULL && nCount > 0)
    {
        if (nCount > __PARAM_COUNT)
            nCount = __PARAM_COUNT;
        for (int i = 0; i < nCount; i++)
            m_arrParams[i] = pParams[i];
    }
    if (m_nType == __FT_BICUBIC)
    {
        // Mitchell and Netravali; B = C = 1/3 unless both were given
        double B = 0.3333333333333333, C = 0.3333333333333333;
        if (pParams != NULL && nCount >= 2)
        {
            B = m_arrParams[0];
            C = m_arrParams[1];
        }
        else
        {
            m_arrParams[0] = B;
            m_arrParams[1] = C;
        }
        m_arrParams[2] = (6.0 - 2.0 * B) / 6.0;
        m_arrParams[3] = (12.0 * B + 6.0 * C - 18.0) / 6.0;
        m_arrParams[4] = (12.0 - 9.0 * B - 6.0 * C) / 6.0;
        m_arrParams[5] = (8.0 * B + 24.0 * C) / 6.0;
        m_arrParams[6] = (-12.0 * B - 48.0 * C) / 6.0;
        m_arrParams[7] = (6.0 * B + 30.0 * C) / 6.0;
        m_arrParams[8] = (-B - 6.0 * C) / 6.0;
    }
}

CExtBitmap::Filter::~Filter() {}

int CExtBitmap::Filter::GetType() const
{
    return m_nType;
}

void CExtBitmap::Filter::SetType(int nType)
{
    m_nType = nType;
}

double CExtBitmap::Filter::GetWidth() const
{
    return m_fWidth;
}

void CExtBitmap::Filter::SetWidth(double fWidth)
{
    m_fWidth = fWidth;
}

void CExtBitmap::Filter::SetDefaultWidth()
{
    SetWidth(stat_GetDefaultWidth(m_nType));
}

bool CExtBitmap::Filter::IsWidthAdjustable() const
{
    return stat_IsWidthAdjustable(m_nType);
}

int CExtBitmap::Filter::GetParamCount() const
{
    return __PARAM_COUNT;
}

double CExtBitmap::Filter::GetParam(int nIndex) const
{
    if (nIndex < 0 || nIndex >= __PARAM_COUNT)
        return 0.0;
    return m_arrParams[nIndex];
}

void CExtBitmap::Filter::SetParam(int nIndex, double fValue)
{
    if (nIndex < 0 || nIndex >= __PARAM_COUNT)
        return;
    m_arrParams[nIndex] = fValue;
}

LPCTSTR CExtBitmap::Filter::GetName() const
{
    return stat_GetName(m_nType);
}

double CExtBitmap::Filter::Process(double x) const
{
    const double w = GetWidth();
    const double ax = fabs(x);
    switch (m_nType)
    {
    case __FT_BOX:
        return ax <= w ? 1.0 : 0.0;
    case __FT_LINEAR:
        if (x < -1.0)
            return 0.0;
        if (x < 0.0)
            return x + 1.0;
        if (x < 1.0)
            return 1.0 - x;
        return 0.0;
    case __FT_BILINEAR:
        return ax < w ? (w - ax) : 0.0;
    case __FT_HERMITE:
        if (x >= -1.0 && x < 1.0)
            return (2.0 * ax - 3.0) * x * x + 1.0;
        return 0.0;
    case __FT_SINC:
        return Sinc(x);
    case __FT_CATMULL_ROM:
        if (x < -2.0)
            return 0.0;
        if (x < -1.0)
            return 0.5 * (x * x * x + 5.0 * x * x + 8.0 * x + 4.0);
        if (x < 0.0)
            return 0.5 * (-3.0 * x * x * x - 5.0 * x * x + 2.0);
        if (x < 1.0)
            return 0.5 * (3.0 * x * x * x - 5.0 * x * x + 2.0);
        if (x < 2.0)
            return 0.5 * (-x * x * x + 5.0 * x * x - 8.0 * x + 4.0);
        return 0.0;
    case __FT_B_SPLINE:
        if (ax < 1.0)
            return (ax * ax * (3.0 * ax - 6.0) + 4.0) / 6.0;
        if (ax < 2.0)
        {
            double t = 2.0 - ax;
            return t * t * t / 6.0;
        }
        return 0.0;
    case __FT_BLACKMAN:
        if (ax > w)
            return 0.0;
        return 0.42 + 0.5 * cos(2.0 * kPi * x / (2.0 * w)) + 0.08 * cos(4.0 * kPi * x / (2.0 * w));
    case __FT_LANCZOS:
        if (ax < w)
            return Sinc(ax / w) * Sinc(ax);
        return 0.0;
    case __FT_QUADRATIC:
        if (x < -1.5)
            return 0.0;
        if (x < -0.5)
            return 0.5 * (x + 1.5) * (x + 1.5);
        if (x < 0.5)
            return 0.75 - x * x;
        if (x < 1.5)
            return 0.5 * (x - 1.5) * (x - 1.5);
        return 0.0;
    case __FT_GAUSSIAN:
        if (ax > w)
            return 0.0;
        return exp(-x * x / 2.0) / SqrtTwoPi();
    case __FT_HAMMING:
        if (ax > w)
            return 0.0;
        return Sinc(x) * (0.54 + 0.46 * cos(2.0 * kPi * x));
    case __FT_BICUBIC:
        if (ax < 1.0)
            return m_arrParams[2] + ax * ax * (m_arrParams[3] + m_arrParams[4] * ax);
        if (ax < 2.0)
            return m_arrParams[5] + ax * (m_arrParams[6] + ax * (m_arrParams[7] + m_arrParams[8] * ax));
        return 0.0;
    default:
        return 0.0;
    }
}

// ---- weights -----------------------------------------------------------------------------

class CExtBitmap::WeightsTable
{
public:
    struct Contribution
    {
        double* m_pWeights;
        int m_nLeft, m_nRight;
        int m_nSkip;  // leading weights that are exactly 0, which the sums may leave out
        int m_nShared;  // the position whose weights these are, itself unless copied
    };

    WeightsTable(const Filter& filter, UINT nDst, UINT nSrc)
        : m_nWindowSize(0), m_nLineLength(nDst), m_pContributions(NULL), m_pWeights(NULL)
    {
        const double fScale = (double)nDst / (double)nSrc;
        double fWidth = filter.GetWidth(), fFactor = 1.0;
        if (fScale < 1.0)
        {
            fWidth = filter.GetWidth() / fScale;
            fFactor = fScale;
        }
        m_nWindowSize = 2 * (int)ceil(fWidth) + 1;
        if (m_nWindowSize < 1)
            m_nWindowSize = 1;
        m_pContributions = new (std::nothrow) Contribution[nDst];
        m_pWeights = new (std::nothrow) double[(size_t)nDst * (size_t)m_nWindowSize];
        if (m_pContributions == NULL || m_pWeights == NULL)
            return;
        const double fOffset = 0.5 / fScale - 0.5;
        const int nLast = (int)nSrc - 1;
        // Away from the edges an output position's weights depend only on where its centre
        // falls between two source pixels, and at simple ratios that repeats every few
        // positions: such a position copies an earlier one's weights rather than evaluate
        // the kernel again.
        const int kRecent = 8;
        double arrPhase[kRecent];
        int arrFrom[kRecent];
        int nRecent = 0;
        for (UINT u = 0; u < nDst; u++)
        {
            Contribution& c = m_pContributions[u];
            c.m_pWeights = m_pWeights + (size_t)u * (size_t)m_nWindowSize;
            const double fCentre = (double)u / fScale + fOffset;
            const int nLeftFull = (int)floor(fCentre - fWidth), nRightFull = (int)ceil(fCentre + fWidth);
            int nLeft = nLeftFull;
            if (nLeft < 0)
                nLeft = 0;
            int nRight = nRightFull;
            if (nRight > nLast)
                nRight = nLast;
            if (nRight - nLeft + 1 > m_nWindowSize)
            {
                if (nLeft < (int)nSrc)
                    nLeft++;
                else
                    nRight--;
            }
            const bool bInterior = nLeftFull >= 0 && nRightFull <= nLast;
            const double fPhase = fCentre - (double)nLeftFull;
            if (bInterior)
            {
                int nFrom = -1;
                for (int k = 0; k < nRecent && nFrom < 0; k++)
                    if (arrPhase[k] == fPhase)
                        nFrom = arrFrom[k];
                if (nFrom >= 0)
                {
                    const Contribution& f = m_pContributions[nFrom];
                    memcpy(c.m_pWeights, f.m_pWeights, sizeof(double) * (size_t)m_nWindowSize);
                    c.m_nLeft = nLeft;
                    c.m_nRight = nLeft + (f.m_nRight - f.m_nLeft);
                    c.m_nSkip = f.m_nSkip;
                    c.m_nShared = nFrom;
                    continue;
                }
            }
            double fSum = 0.0;
            for (int i = nLeft; i <= nRight; i++)
            {
                double w = filter.Process((fCentre - (double)i) * fFactor) * fFactor;
                c.m_pWeights[i - nLeft] = w;
                fSum += w;
            }
            if (fSum > 0.0 && fSum != 1.0)
            {
                for (int i = nLeft; i <= nRight; i++)
                    c.m_pWeights[i - nLeft] /= fSum;
            }
            // a zero weight adds nothing to a sum, so trailing ones are left out
            while (nRight > nLeft && c.m_pWeights[nRight - nLeft] == 0.0)
                nRight--;
            c.m_nLeft = nLeft;
            c.m_nRight = nRight;
            c.m_nSkip = 0;
            c.m_nShared = (int)u;
            while (c.m_nSkip < nRight - nLeft && c.m_pWeights[c.m_nSkip] == 0.0)
                c.m_nSkip++;
            if (bInterior)
            {
                const int nAt = nRecent < kRecent ? nRecent++ : (int)(u % kRecent);
                arrPhase[nAt] = fPhase;
                arrFrom[nAt] = (int)u;
            }
        }
        // Each weight four times over, ready to multiply a pixel's four channels.
        m_pWeightsF = new (std::nothrow) float[(size_t)nDst * (size_t)m_nWindowSize * 4];
        if (m_pWeightsF == NULL)
            return;
        for (size_t i = 0; i < (size_t)nDst * (size_t)m_nWindowSize; i++)
            m_pWeightsF[4 * i] = m_pWeightsF[4 * i + 1] = m_pWeightsF[4 * i + 2] = m_pWeightsF[4 * i + 3] =
                (float)m_pWeights[i];
        UINT nOthers = 0;
        m_isPair.assign(nDst, 0);
        for (UINT u = 0; u < nDst; u++)
        {
            const Contribution& c = m_pContributions[u];
            m_isPair[u] = nSrc == 2 * nDst && c.m_nLeft + c.m_nSkip == (int)(2 * u) &&
                          c.m_nRight == c.m_nLeft + c.m_nSkip + 1 && c.m_pWeights[c.m_nSkip] == 0.5 &&
                          c.m_pWeights[c.m_nSkip + 1] == 0.5;
            if (!m_isPair[u])
                nOthers++;
        }
        m_bPairs = nOthers <= 4;
    }
    ~WeightsTable()
    {
        delete[] m_pContributions;
        delete[] m_pWeights;
        delete[] m_pWeightsF;
    }
    bool IsValid() const
    {
        return m_pContributions != NULL && m_pWeights != NULL && m_pWeightsF != NULL;
    }
    // The weights of output position u in single precision, first for source m_nLeft,
    // each repeated four times (the weight of tap i is at index 4 * i).
    const float* WeightsOf(UINT u) const
    {
        // positions that share weights read one copy, so that a pass keeps fewer in cache
        return m_pWeightsF + (size_t)m_pContributions[u].m_nShared * (size_t)m_nWindowSize * 4;
    }

    int m_nWindowSize;
    UINT m_nLineLength;
    // Each output but a few at the edges is the plain mean of source pixels 2u and 2u + 1
    // (halving by a box); m_isPair tells which.
    bool m_bPairs = false;
    std::vector<char> m_isPair;
    Contribution* m_pContributions;

private:
    double* m_pWeights;
    float* m_pWeightsF = NULL;
    WeightsTable(const WeightsTable&) = delete;
    WeightsTable& operator=(const WeightsTable&) = delete;
};

namespace {

typedef CExtBitmap::WeightsTable WeightsTable;

// The passes for 8, 16 and 24 bits, through a whole intermediate block.

// One pass along the rows: pSrc is S pixels wide, pDst D pixels wide, both H high.
bool PassHorizontal(const CExtBitmap::Filter& filter, LPBITMAPINFOHEADER pSrc, LPBITMAPINFOHEADER pDst)
{
    const int S = pSrc->biWidth, D = pDst->biWidth, H = pDst->biHeight;
    const int nBPP = pSrc->biBitCount;
    const ULONG nSrcStride = CExtBitmap::GetStride(S, nBPP), nDstStride = CExtBitmap::GetStride(D, nBPP);
    if (D == S)
    {
        ::memcpy(CExtBitmap::GetBitsPtr(pDst), CExtBitmap::GetBitsPtr(pSrc), (size_t)nSrcStride * (size_t)H);
        return true;
    }
    WeightsTable table(filter, (UINT)D, (UINT)S);
    if (!table.IsValid())
        return false;
    const int nChannels = ChannelBytes(nBPP);
    for (int y = 0; y < H; y++)
    {
        const BYTE* pS = CExtBitmap::GetScanLine(pSrc, y, nSrcStride);
        LPBYTE pD = CExtBitmap::GetScanLine(pDst, y, nDstStride);
        for (int u = 0; u < D; u++)
        {
            const WeightsTable::Contribution& c = table.m_pContributions[u];
            const float* w = table.WeightsOf((UINT)u);
            const int nTaps = c.m_nRight - c.m_nLeft + 1;
            if (nBPP == 16)
            {
                float v = 0.0f;
                const WORD* p16 = (const WORD*)pS + c.m_nLeft;
                for (int i = 0; i < nTaps; i++)
                    v += w[4 * i] * (float)p16[i];
                ((WORD*)pD)[u] = ToWord(v);
            }
            else if (nChannels > 0)
            {
                float acc[3] = {0.0f, 0.0f, 0.0f};
                const BYTE* p = pS + c.m_nLeft * nChannels;
                for (int i = 0; i < nTaps; i++, p += nChannels)
                    for (int k = 0; k < nChannels; k++)
                        acc[k] += p[k] * w[4 * i];
                LPBYTE q = pD + u * nChannels;
                for (int k = 0; k < nChannels; k++)
                    q[k] = ToByte(acc[k]);
            }
        }
    }
    return true;
}

// One pass along the columns: pSrc is S rows high, pDst D rows high, both W wide. Each
// output value is summed over its source rows in a register.
bool PassVertical(const CExtBitmap::Filter& filter, LPBITMAPINFOHEADER pSrc, LPBITMAPINFOHEADER pDst)
{
    const int S = pSrc->biHeight, D = pDst->biHeight, W = pDst->biWidth;
    const int nBPP = pSrc->biBitCount;
    const ULONG nStride = CExtBitmap::GetStride(W, nBPP);
    if (D == S)
    {
        ::memcpy(CExtBitmap::GetBitsPtr(pDst), CExtBitmap::GetBitsPtr(pSrc), (size_t)nStride * (size_t)D);
        return true;
    }
    WeightsTable table(filter, (UINT)D, (UINT)S);
    if (!table.IsValid())
        return false;
    const int nChannels = ChannelBytes(nBPP);
    const int nValues = (nBPP == 16) ? W : W * nChannels;
    std::vector<const BYTE*> rows((size_t)table.m_nWindowSize);
    for (int v = 0; v < D; v++)
    {
        const WeightsTable::Contribution& c = table.m_pContributions[v];
        const float* w = table.WeightsOf((UINT)v);
        const int nTaps = c.m_nRight - c.m_nLeft + 1;
        for (int i = 0; i < nTaps; i++)
            rows[(size_t)i] = CExtBitmap::GetScanLine(pSrc, c.m_nLeft + i, nStride);
        LPBYTE pD = CExtBitmap::GetScanLine(pDst, v, nStride);
        if (nBPP == 16)
        {
            for (int x = 0; x < W; x++)
            {
                float sum = 0.0f;
                for (int i = 0; i < nTaps; i++)
                    sum += w[4 * i] * (float)((const WORD*)rows[(size_t)i])[x];
                ((WORD*)pD)[x] = ToWord(sum);
            }
        }
        else
        {
            for (int k = 0; k < nValues; k++)
            {
                float sum = 0.0f;
                for (int i = 0; i < nTaps; i++)
                    sum += rows[(size_t)i][k] * w[4 * i];
                pD[k] = ToByte(sum);
            }
        }
    }
    return true;
}

// 32-bit pixels: both passes in one sweep down the image. The first pass's rows are
// made as the second needs them and kept in a ring of converted rows, so no intermediate
// image is allocated; each is still rounded to bytes in between, as two separate passes
// would store it.
class Scaler32
{
public:
    Scaler32(LPBITMAPINFOHEADER pSrc, LPBITMAPINFOHEADER pDst, bool bAlphaAware)
        : m_pSrc(pSrc), m_pDst(pDst), m_bAlpha(bAlphaAware),
          m_nSrcStride(CExtBitmap::GetStride(pSrc->biWidth, 32)), m_nDstStride(CExtBitmap::GetStride(pDst->biWidth, 32))
    {
    }

    bool Run(const CExtBitmap::Filter& filter, bool bVerticalFirst)
    {
        const int nSrcW = m_pSrc->biWidth, nSrcH = m_pSrc->biHeight;
        const int nDstW = m_pDst->biWidth, nDstH = m_pDst->biHeight;
        // A square scaled to a square needs one table for both axes.
        const bool bSame = nDstW == nDstH && nSrcW == nSrcH;
        WeightsTable tableH(filter, (UINT)nDstW, (UINT)nSrcW);
        WeightsTable tableV(filter, bSame ? 1u : (UINT)nDstH, bSame ? 1u : (UINT)nSrcH);
        if (!tableH.IsValid() || !tableV.IsValid())
            return false;
        const WeightsTable& rV = bSame ? tableH : tableV;
        m_pH = nDstW != nSrcW ? &tableH : NULL;
        m_pV = nDstH != nSrcH ? &rV : NULL;
        m_bVerticalFirst = bVerticalFirst;
        // The ring holds rows of the image the vertical pass reads: the source's when it
        // runs first, the horizontal pass's output otherwise.
        m_nRingWidth = bVerticalFirst ? nSrcW : nDstW;
        m_nWindow = (size_t)rV.m_nWindowSize;

        return RunBands(nSrcW, nSrcH, nDstW, nDstH);
    }

private:
    // The scratch of one sweep.
    struct Work
    {
        std::vector<float> ring;   // m_nWindow rows of m_nRingWidth converted pixels
        std::vector<int> ringRow;  // the row in each slot, -1 for none
        std::vector<const float*> rows;
        std::vector<float> srcF;
        std::vector<BYTE> bytes;
    };

    // A band of output rows for one thread. The bands share only what they read; each has
    // its own ring, so a band recomputes the few rows at its top that the one above it
    // also made, and the result does not depend on how the rows were split.
    struct Band
    {
        Scaler32* m_pScaler;
        int m_nFirst, m_nLast;
        bool m_bOk;
        HANDLE m_hThread;
    };

    // started through the C runtime, since the bands allocate from it
    static unsigned __stdcall BandProc(void* pParam)
    {
        Band& band = *(Band*)pParam;
        try
        {
            band.m_pScaler->RunRows(band.m_nFirst, band.m_nLast);
            band.m_bOk = true;
        }
        catch (const std::bad_alloc&)
        {
            band.m_bOk = false;
        }
        return 0;
    }

    // Large images are split into bands of rows run side by side, one per processor (up
    // to four); small ones are not worth a thread.
    bool RunBands(int nSrcW, int nSrcH, int nDstW, int nDstH)
    {
        // roughly the multiply-adds of both passes
        const ULONGLONG nAcross = m_pH != NULL ? (ULONGLONG)m_pH->m_nWindowSize : 1u;
        const ULONGLONG nDown = m_pV != NULL ? (ULONGLONG)m_pV->m_nWindowSize : 1u;
        const ULONGLONG nWork = m_bVerticalFirst ? (ULONGLONG)nSrcW * nDstH * nDown + (ULONGLONG)nDstW * nDstH * nAcross
                                                 : (ULONGLONG)nDstW * nSrcH * nAcross + (ULONGLONG)nDstW * nDstH * nDown;
        SYSTEM_INFO si;
        ::GetSystemInfo(&si);
        int nBands = si.dwNumberOfProcessors > 4 ? 4 : (int)si.dwNumberOfProcessors;
        if (nWork < 4000000u || nBands < 2 || nDstH < 64)
            nBands = 1;
        Band arrBands[4];
        for (int i = 0; i < nBands; i++)
        {
            arrBands[i].m_pScaler = this;
            arrBands[i].m_nFirst = (int)((LONGLONG)nDstH * i / nBands);
            arrBands[i].m_nLast = (int)((LONGLONG)nDstH * (i + 1) / nBands);
            arrBands[i].m_bOk = false;
            arrBands[i].m_hThread = i == 0 ? NULL : (HANDLE)::_beginthreadex(NULL, 0, &BandProc, &arrBands[i], 0, NULL);
        }
        // a band whose thread could not start runs here
        for (int i = 0; i < nBands; i++)
            if (arrBands[i].m_hThread == NULL)
                BandProc(&arrBands[i]);
        bool bOk = true;
        for (int i = 0; i < nBands; i++)
        {
            if (arrBands[i].m_hThread != NULL)
            {
                ::WaitForSingleObject(arrBands[i].m_hThread, INFINITE);
                ::CloseHandle(arrBands[i].m_hThread);
            }
            bOk = bOk && arrBands[i].m_bOk;
        }
        return bOk;
    }

    void RunRows(int nFirst, int nLast)
    {
        const int nSrcW = m_pSrc->biWidth, nDstW = m_pDst->biWidth;
        Work work;
        work.ring.assign(m_nWindow * (size_t)m_nRingWidth * 4, 0.0f);
        work.ringRow.assign(m_nWindow, -1);
        work.rows.assign(m_nWindow, NULL);
        work.srcF.assign((size_t)nSrcW * 4, 0.0f);
        work.bytes.assign((size_t)(nSrcW > nDstW ? nSrcW : nDstW) * 4, 0);
        for (int v = nFirst; v < nLast; v++)
        {
            LPBYTE pOut = CExtBitmap::GetScanLine(m_pDst, v, m_nDstStride);
            if (m_bVerticalFirst)
            {
                // The vertical pass's row at the source's width, then across.
                const BYTE* pRow = VerticalRow(work, v, nSrcW, work.bytes.data());
                if (m_pH == NULL)
                    memcpy(pOut, pRow, (size_t)nDstW * 4);
                else
                {
                    ConvertRow(pRow, nSrcW, work.srcF.data(), m_bAlpha);
                    HorizontalRow(work.srcF.data(), pOut);
                }
            }
            else if (m_pV == NULL)
                MakeAcross(work, v, pOut);
            else
                VerticalRow(work, v, nDstW, pOut);
        }
    }

    // Row r of the horizontal pass's output, as bytes.
    void MakeAcross(Work& work, int r, LPBYTE pOut) const
    {
        const BYTE* pRow = CExtBitmap::GetScanLine(m_pSrc, r, m_nSrcStride);
        if (m_pH == NULL)
        {
            memcpy(pOut, pRow, (size_t)m_pSrc->biWidth * 4);
            return;
        }
        ConvertRow(pRow, m_pSrc->biWidth, work.srcF.data(), m_bAlpha);
        HorizontalRow(work.srcF.data(), pOut);
    }

    void HorizontalRow(const float* pRowF, LPBYTE pOut) const
    {
        for (int u = 0; u < m_pDst->biWidth; u++)
        {
            const WeightsTable::Contribution& c = m_pH->m_pContributions[u];
            StorePixel(pOut + u * 4, SumTaps(pRowF + (c.m_nLeft + c.m_nSkip) * 4, m_pH->WeightsOf((UINT)u) + 4 * c.m_nSkip,
                                             c.m_nRight - c.m_nLeft - c.m_nSkip + 1));
        }
    }

    // The horizontal pass straight into a ring slot: each sum is rounded and clamped as
    // StorePixel stores it and converted back as ConvertRow would read those bytes, with
    // no trip through memory in between.
    void HorizontalRowToRing(const float* pRowF, float* pSlot) const
    {
        const __m128 kHalf = _mm_set1_ps(0.5f), kMax = _mm_set1_ps(255.0f), kZero = _mm_setzero_ps();
        const __m128 kScale = _mm_set_ps(0.0f, 1.0f / 255.0f, 1.0f / 255.0f, 1.0f / 255.0f);
        const __m128 kOne = _mm_set_ps(1.0f, 0.0f, 0.0f, 0.0f);
        const int nWidth = m_pDst->biWidth;
        const WeightsTable::Contribution* pC = m_pH->m_pContributions;
        for (int u = 0; u < nWidth; u++, pSlot += 4)
        {
            const WeightsTable::Contribution& c = pC[u];
            __m128 t = SumTaps(pRowF + (c.m_nLeft + c.m_nSkip) * 4, m_pH->WeightsOf((UINT)u) + 4 * c.m_nSkip,
                               c.m_nRight - c.m_nLeft - c.m_nSkip + 1);
            t = _mm_min_ps(_mm_max_ps(_mm_add_ps(t, kHalf), kZero), kMax);
            t = _mm_cvtepi32_ps(_mm_cvttps_epi32(t));
            if (m_bAlpha)
            {
                const __m128 alpha = _mm_shuffle_ps(t, t, _MM_SHUFFLE(3, 3, 3, 3));
                t = _mm_mul_ps(t, _mm_add_ps(_mm_mul_ps(alpha, kScale), kOne));
            }
            _mm_storeu_ps(pSlot, t);
        }
    }

    // HorizontalRowToRing for a halving box, reading the source bytes directly: the mean of
    // two converted pixels is the same float the general sum gives for weights of 1/2.
    void PairsRowToRing(const BYTE* pRow, float* pSlot) const
    {
        const __m128 kHalf = _mm_set1_ps(0.5f), kMax = _mm_set1_ps(255.0f), kZero = _mm_setzero_ps();
        const __m128 kScale = _mm_set_ps(0.0f, 1.0f / 255.0f, 1.0f / 255.0f, 1.0f / 255.0f);
        const __m128 kOne = _mm_set_ps(1.0f, 0.0f, 0.0f, 0.0f);
        const __m128i zero = _mm_setzero_si128();
        const int nWidth = m_pDst->biWidth;
        const char* pIsPair = m_pH->m_isPair.data();
        for (int u = 0; u < nWidth; u++, pSlot += 4)
        {
            __m128 t = kZero;
            if (pIsPair[u])
            {
                const __m128i v =
                    _mm_unpacklo_epi8(_mm_loadl_epi64((const __m128i*)(const void*)(pRow + 8 * u)), zero);
                __m128 a = _mm_cvtepi32_ps(_mm_unpacklo_epi16(v, zero)),
                       b = _mm_cvtepi32_ps(_mm_unpackhi_epi16(v, zero));
                if (m_bAlpha)
                {
                    a = _mm_mul_ps(a, _mm_add_ps(_mm_mul_ps(_mm_shuffle_ps(a, a, _MM_SHUFFLE(3, 3, 3, 3)), kScale), kOne));
                    b = _mm_mul_ps(b, _mm_add_ps(_mm_mul_ps(_mm_shuffle_ps(b, b, _MM_SHUFFLE(3, 3, 3, 3)), kScale), kOne));
                }
                t = _mm_add_ps(_mm_mul_ps(a, kHalf), _mm_mul_ps(b, kHalf));
            }
            else
            {
                // an edge position: its taps one by one, as SumTaps would weigh them
                const WeightsTable::Contribution& c = m_pH->m_pContributions[u];
                const float* w = m_pH->WeightsOf((UINT)u);
                float taps[4 * 64];
                const int nFirst = c.m_nLeft + c.m_nSkip, nCount = c.m_nRight - nFirst + 1;
                for (int i = 0; i < nCount; i += 64)
                {
                    const int n = nCount - i < 64 ? nCount - i : 64;
                    ConvertRow(pRow + 4 * (nFirst + i), n, taps, m_bAlpha);
                    const __m128 part = SumTaps(taps, w + 4 * (c.m_nSkip + i), n);
                    t = i == 0 ? part : _mm_add_ps(t, part);
                }
            }
            t = _mm_min_ps(_mm_max_ps(_mm_add_ps(t, kHalf), kZero), kMax);
            t = _mm_cvtepi32_ps(_mm_cvttps_epi32(t));
            if (m_bAlpha)
                t = _mm_mul_ps(t, _mm_add_ps(_mm_mul_ps(_mm_shuffle_ps(t, t, _MM_SHUFFLE(3, 3, 3, 3)), kScale), kOne));
            _mm_storeu_ps(pSlot, t);
        }
    }

    // Row r of the image the vertical pass reads, converted, from the ring.
    const float* RingRow(Work& work, int r) const
    {
        const size_t nSlot = (size_t)r % m_nWindow;
        float* pSlot = work.ring.data() + nSlot * (size_t)m_nRingWidth * 4;
        if (work.ringRow[nSlot] != r)
        {
            if (m_bVerticalFirst)
                ConvertRow(CExtBitmap::GetScanLine(m_pSrc, r, m_nSrcStride), m_nRingWidth, pSlot, m_bAlpha);
            else if (m_pH == NULL)
                ConvertRow(CExtBitmap::GetScanLine(m_pSrc, r, m_nSrcStride), m_nRingWidth, pSlot, m_bAlpha);
            else if (m_pH->m_bPairs)
                PairsRowToRing(CExtBitmap::GetScanLine(m_pSrc, r, m_nSrcStride), pSlot);
            else
            {
                ConvertRow(CExtBitmap::GetScanLine(m_pSrc, r, m_nSrcStride), m_pSrc->biWidth, work.srcF.data(), m_bAlpha);
                HorizontalRowToRing(work.srcF.data(), pSlot);
            }
            work.ringRow[nSlot] = r;
        }
        return pSlot;
    }

    // Output row v of the vertical pass, nWidth pixels, into pOut; answers pOut, or the
    // source row itself when the height does not change.
    const BYTE* VerticalRow(Work& work, int v, int nWidth, LPBYTE pOut) const
    {
        if (m_pV == NULL)
            return CExtBitmap::GetScanLine(m_pSrc, v, m_nSrcStride);
        const WeightsTable::Contribution& c = m_pV->m_pContributions[v];
        const float* w = m_pV->WeightsOf((UINT)v) + 4 * c.m_nSkip;
        const int nTaps = c.m_nRight - c.m_nLeft - c.m_nSkip + 1;
        for (int i = 0; i < nTaps; i++)
            work.rows[(size_t)i] = RingRow(work, c.m_nLeft + c.m_nSkip + i);
        const float* const* ppRows = work.rows.data();
        int x = 0;
        for (; x + 4 <= nWidth; x += 4)
        {
            // Four pixels at a time: four independent sums per tap.
            __m128 s0 = _mm_setzero_ps(), s1 = _mm_setzero_ps(), s2 = _mm_setzero_ps(), s3 = _mm_setzero_ps();
            for (int i = 0; i < nTaps; i++)
            {
                const float* p = ppRows[i] + x * 4;
                const __m128 wt = _mm_loadu_ps(w + 4 * i);
                s0 = _mm_add_ps(s0, _mm_mul_ps(_mm_loadu_ps(p), wt));
                s1 = _mm_add_ps(s1, _mm_mul_ps(_mm_loadu_ps(p + 4), wt));
                s2 = _mm_add_ps(s2, _mm_mul_ps(_mm_loadu_ps(p + 8), wt));
                s3 = _mm_add_ps(s3, _mm_mul_ps(_mm_loadu_ps(p + 12), wt));
            }
            StorePixel(pOut + x * 4, s0);
            StorePixel(pOut + x * 4 + 4, s1);
            StorePixel(pOut + x * 4 + 8, s2);
            StorePixel(pOut + x * 4 + 12, s3);
        }
        for (; x < nWidth; x++)
        {
            __m128 sum = _mm_setzero_ps();
            for (int i = 0; i < nTaps; i++)
                sum = _mm_add_ps(sum, _mm_mul_ps(_mm_loadu_ps(ppRows[i] + x * 4), _mm_loadu_ps(w + 4 * i)));
            StorePixel(pOut + x * 4, sum);
        }
        return pOut;
    }

    LPBITMAPINFOHEADER m_pSrc, m_pDst;
    bool m_bAlpha;
    ULONG m_nSrcStride, m_nDstStride;
    const WeightsTable* m_pH = NULL;
    const WeightsTable* m_pV = NULL;
    bool m_bVerticalFirst = false;
    int m_nRingWidth = 0;
    size_t m_nWindow = 1;
};

}  // namespace

bool CExtBitmap::Scale(int cx, int cy, const Filter& filter)
{
    if (IsEmpty() || cx <= 0 || cy <= 0 || m_pImageBuffer->biBitCount < 16)
        return false;
    const int nSrcW = m_pImageBuffer->biWidth, nSrcH = m_pImageBuffer->biHeight;
    if (cx == nSrcW && cy == nSrcH)
        return true;
    const int nBPP = m_pImageBuffer->biBitCount;
    const DWORD m0 = GetMask(m_pImageBuffer, 0), m1 = GetMask(m_pImageBuffer, 1), m2 = GetMask(m_pImageBuffer, 2),
                m3 = GetMask(m_pImageBuffer, 3);
    // alpha weighting only where there is alpha to weight by
    const bool bAlphaAware = nBPP == 32 && m3 != 0;
    LPBITMAPINFOHEADER pDst = AllocBlock(cx, cy, nBPP, m0, m1, m2, m3);
    if (pDst == NULL)
        return false;
    bool bOk = false;
    const bool bVerticalFirst = (LONGLONG)nSrcH * cx > (LONGLONG)nSrcW * cy;
    if (nBPP == 32)
    {
        try
        {
            bOk = Scaler32(m_pImageBuffer, pDst, bAlphaAware).Run(filter, bVerticalFirst);
        }
        catch (const std::bad_alloc&)
        {
            bOk = false;
        }
    }
    else if (bVerticalFirst)
    {
        LPBITMAPINFOHEADER pTmp = AllocBlock(nSrcW, cy, nBPP, m0, m1, m2, m3);
        if (pTmp != NULL)
        {
            bOk = PassVertical(filter, m_pImageBuffer, pTmp) &&
                  PassHorizontal(filter, pTmp, pDst);
            FreeBlock(pTmp);
        }
    }
    else
    {
        LPBITMAPINFOHEADER pTmp = AllocBlock(cx, nSrcH, nBPP, m0, m1, m2, m3);
        if (pTmp != NULL)
        {
            bOk = PassHorizontal(filter, m_pImageBuffer, pTmp) &&
                  PassVertical(filter, pTmp, pDst);
            FreeBlock(pTmp);
        }
    }
    if (!bOk)
    {
        FreeBlock(pDst);
        return false;
    }
    _ReplaceBlock(pDst);
    OnContentChanged();
    return true;
}
