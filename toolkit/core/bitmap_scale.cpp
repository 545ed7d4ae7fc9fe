// Resampling of CExtBitmap: the thirteen filter kernels and the two separable passes
// (rows, then columns or the other way round) that share one weights table.
// Palette images are not resampled; convert them to 32 bits first.
#include "framework/framework.h"
#include "toolkit/core/bitmap.h"

#include <math.h>
#include <new>
#include <string.h>

namespace {

const double kPi = 3.141592653589793;

inline double Sinc(double t)
{
    if (t == 0.0)
        return 1.0;
    double a = kPi * t;
    return sin(a) / a;
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

inline BYTE ToByte(double v)
{
    double t = v + 0.5;
    if (t < 0.0)
        return 0;
    if (t >= 255.0)
        return 255;
    return (BYTE)(int)t;
}

inline WORD ToWord(double v)
{
    if (v + 0.5 < 0.0)
        return 0;
    double t = v + 0.5;
    if (t >= 65535.0)
        return 65535;
    return (WORD)(int)t;
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
        for (UINT u = 0; u < nDst; u++)
        {
            Contribution& c = m_pContributions[u];
            c.m_pWeights = m_pWeights + (size_t)u * (size_t)m_nWindowSize;
            const double fCentre = (double)u / fScale + fOffset;
            int nLeft = (int)floor(fCentre - fWidth);
            if (nLeft < 0)
                nLeft = 0;
            int nRight = (int)ceil(fCentre + fWidth);
            if (nRight > nLast)
                nRight = nLast;
            if (nRight - nLeft + 1 > m_nWindowSize)
            {
                if (nLeft < (int)nSrc)
                    nLeft++;
                else
                    nRight--;
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
                while (nRight > nLeft && c.m_pWeights[nRight - nLeft] == 0.0)
                    nRight--;
            }
            c.m_nLeft = nLeft;
            c.m_nRight = nRight;
        }
    }
    ~WeightsTable()
    {
        delete[] m_pContributions;
        delete[] m_pWeights;
    }
    bool IsValid() const
    {
        return m_pContributions != NULL && m_pWeights != NULL;
    }

    int m_nWindowSize;
    UINT m_nLineLength;
    Contribution* m_pContributions;

private:
    double* m_pWeights;
    WeightsTable(const WeightsTable&) = delete;
    WeightsTable& operator=(const WeightsTable&) = delete;
};

namespace {

typedef CExtBitmap::WeightsTable WeightsTable;

// One pass along the rows: pSrc is S pixels wide, pDst D pixels wide, both H high.
bool PassHorizontal(const CExtBitmap::Filter& filter, LPBITMAPINFOHEADER pSrc, LPBITMAPINFOHEADER pDst,
                    bool bAlphaAware)
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
            const double* w = c.m_pWeights;
            if (nBPP == 16)
            {
                double v = 0.0;
                const WORD* p16 = (const WORD*)pS;
                for (int i = c.m_nLeft; i <= c.m_nRight; i++)
                    v += w[i - c.m_nLeft] * (double)p16[i];
                ((WORD*)pD)[u] = ToWord(v);
            }
            else if (nChannels == 4 && bAlphaAware)
            {
                double b = 0.0, g = 0.0, r = 0.0, a = 0.0;
                for (int i = c.m_nLeft; i <= c.m_nRight; i++)
                {
                    const BYTE* p = pS + i * 4;
                    const double wt = w[i - c.m_nLeft];
                    b += p[0] * wt * p[3] / 255.0;
                    g += p[1] * wt * p[3] / 255.0;
                    r += p[2] * wt * p[3] / 255.0;
                    a += p[3] * wt;
                }
                LPBYTE q = pD + u * 4;
                q[0] = ToByte(b);
                q[1] = ToByte(g);
                q[2] = ToByte(r);
                q[3] = ToByte(a);
            }
            else if (nChannels > 0)
            {
                double acc[4] = {0.0, 0.0, 0.0, 0.0};
                for (int i = c.m_nLeft; i <= c.m_nRight; i++)
                {
                    const BYTE* p = pS + i * nChannels;
                    const double wt = w[i - c.m_nLeft];
                    for (int k = 0; k < nChannels; k++)
                        acc[k] += p[k] * wt;
                }
                LPBYTE q = pD + u * nChannels;
                for (int k = 0; k < nChannels; k++)
                    q[k] = ToByte(acc[k]);
            }
        }
    }
    return true;
}

// One pass along the columns: pSrc is S rows high, pDst D rows high, both W wide.
// Rows are accumulated whole so that the source is read in memory order.
bool PassVertical(const CExtBitmap::Filter& filter, LPBITMAPINFOHEADER pSrc, LPBITMAPINFOHEADER pDst,
                  bool bAlphaAware)
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
    const int nValues = (nBPP == 16) ? W : W * ChannelBytes(nBPP);
    double* pAcc = new (std::nothrow) double[(size_t)(nValues > 0 ? nValues : 1)];
    if (pAcc == NULL)
        return false;
    const bool bAlpha = bAlphaAware && nBPP == 32;
    for (int v = 0; v < D; v++)
    {
        const WeightsTable::Contribution& c = table.m_pContributions[v];
        for (int k = 0; k < nValues; k++)
            pAcc[k] = 0.0;
        for (int i = c.m_nLeft; i <= c.m_nRight; i++)
        {
            const double wt = c.m_pWeights[i - c.m_nLeft];
            const BYTE* pS = CExtBitmap::GetScanLine(pSrc, i, nStride);
            if (nBPP == 16)
            {
                const WORD* p16 = (const WORD*)pS;
                for (int x = 0; x < W; x++)
                    pAcc[x] += wt * (double)p16[x];
            }
            else if (bAlpha)
            {
                for (int x = 0; x < W; x++)
                {
                    const BYTE* p = pS + x * 4;
                    double* a = pAcc + x * 4;
                    a[0] += p[0] * wt * p[3] / 255.0;
                    a[1] += p[1] * wt * p[3] / 255.0;
                    a[2] += p[2] * wt * p[3] / 255.0;
                    a[3] += p[3] * wt;
                }
            }
            else
            {
                for (int k = 0; k < nValues; k++)
                    pAcc[k] += pS[k] * wt;
            }
        }
        LPBYTE pD = CExtBitmap::GetScanLine(pDst, v, nStride);
        if (nBPP == 16)
        {
            WORD* p16 = (WORD*)pD;
            for (int x = 0; x < W; x++)
                p16[x] = ToWord(pAcc[x]);
        }
        else
        {
            for (int k = 0; k < nValues; k++)
                pD[k] = ToByte(pAcc[k]);
        }
    }
    delete[] pAcc;
    return true;
}

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
    if ((LONGLONG)nSrcH * cx > (LONGLONG)nSrcW * cy)
    {
        LPBITMAPINFOHEADER pTmp = AllocBlock(nSrcW, cy, nBPP, m0, m1, m2, m3);
        if (pTmp != NULL)
        {
            bOk = PassVertical(filter, m_pImageBuffer, pTmp, bAlphaAware) &&
                  PassHorizontal(filter, pTmp, pDst, bAlphaAware);
            FreeBlock(pTmp);
        }
    }
    else
    {
        LPBITMAPINFOHEADER pTmp = AllocBlock(cx, nSrcH, nBPP, m0, m1, m2, m3);
        if (pTmp != NULL)
        {
            bOk = PassHorizontal(filter, m_pImageBuffer, pTmp, bAlphaAware) &&
                  PassVertical(filter, pTmp, pDst, bAlphaAware);
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
