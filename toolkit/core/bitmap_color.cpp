// The colour arithmetic shared by the images, the theme engine and the colour
// controls: RGB <-> HLS, HLS adjustment, mixing, blending and inversion.
// These functions depend on nothing but the Windows colour macros.
#include "toolkit/core/bitmap.h"

namespace {

inline BYTE ChannelFromUnit(double v)
{
    // trunc(v * 255), kept to its low 8 bits, the way every conversion here stores a channel
    return (BYTE)((UINT)(INT)(v * 255.0) & 0xFFu);
}

inline double AdjustUnit(double v, double d)
{
    if (d > 0.0)
        v = v + d * (1.0 - v);
    else if (d < 0.0)
        v = v * (1.0 + d);
    if (v < 0.0)
        v = 0.0;
    if (v > 1.0)
        v = 1.0;
    return v;
}

inline int ClampByte(int v)
{
    return v < 0 ? 0 : (v > 255 ? 255 : v);
}

}  // namespace

COLORREF CExtBitmap::stat_RGB_Invert(COLORREF clr)
{
    return RGB(255 - GetRValue(clr), 255 - GetGValue(clr), 255 - GetBValue(clr));
}

double CExtBitmap::stat_HueToRGB(double m1, double m2, double h)
{
    if (h < 0.0)
        h += 1.0;
    if (h > 1.0)
        h -= 1.0;
    if (6.0 * h < 1.0)
        return m1 + (m2 - m1) * h * 6.0;
    if (2.0 * h < 1.0)
        return m2;
    if (3.0 * h < 2.0)
        return m1 + (m2 - m1) * (2.0 / 3.0 - h) * 6.0;
    return m1;
}

COLORREF CExtBitmap::stat_HLS2RGB(double h, double l, double s)
{
    if (s == 0.0)
    {
        BYTE c = ChannelFromUnit(l);
        return RGB(c, c, c);
    }
    double m2 = (l <= 0.5) ? (l * (1.0 + s)) : (l + s - l * s);
    double m1 = 2.0 * l - m2;
    BYTE r = ChannelFromUnit(stat_HueToRGB(m1, m2, h + 1.0 / 3.0));
    BYTE g = ChannelFromUnit(stat_HueToRGB(m1, m2, h));
    BYTE b = ChannelFromUnit(stat_HueToRGB(m1, m2, h - 1.0 / 3.0));
    return RGB(r, g, b);
}

void CExtBitmap::stat_RGB2HLS(COLORREF clr, double& h, double& s, double& l)
{
    double r = GetRValue(clr) / 255.0;
    double g = GetGValue(clr) / 255.0;
    double b = GetBValue(clr) / 255.0;
    double dMax = r > g ? (r > b ? r : b) : (g > b ? g : b);
    double dMin = r < g ? (r < b ? r : b) : (g < b ? g : b);
    l = (dMax + dMin) / 2.0;
    if (dMax == dMin)
    {
        h = s = 0.0;
        return;
    }
    double d = dMax - dMin;
    s = (l < 0.5) ? (d / (dMax + dMin)) : (d / (2.0 - dMax - dMin));
    if (r == dMax)
        h = (g - b) / d;
    else if (g == dMax)
        h = 2.0 + (b - r) / d;
    else
        h = 4.0 + (r - g) / d;
    h /= 6.0;
    if (h < 0.0)
        h += 1.0;
}

BYTE CExtBitmap::stat_HueToRGB_Degrees(float m1, float m2, float hue)
{
    if (hue > 360.0f)
        hue -= 360.0f;
    else if (hue < 0.0f)
        hue += 360.0f;
    float v;
    if (hue < 60.0f)
        v = m1 + (m2 - m1) * hue / 60.0f;
    else if (hue < 180.0f)
        v = m2;
    else if (hue < 240.0f)
        v = m1 + (m2 - m1) * (240.0f - hue) / 60.0f;
    else
        v = m1;
    return (BYTE)((UINT)(INT)(v * 255.0f) & 0xFFu);
}

COLORREF CExtBitmap::stat_HLS2RGB_Degrees(double hue, double l, double s)
{
    if (s == 0.0)
    {
        BYTE c = ChannelFromUnit(l);
        return RGB(c, c, c);
    }
    float m2 = (l <= 0.5) ? (float)(l * (1.0 + s)) : (float)(l + s - l * s);
    float m1 = (float)(2.0 * l - m2);
    BYTE r = stat_HueToRGB_Degrees(m1, m2, (float)(hue + 120.0));
    BYTE g = stat_HueToRGB_Degrees(m1, m2, (float)hue);
    BYTE b = stat_HueToRGB_Degrees(m1, m2, (float)(hue - 120.0));
    return RGB(r, g, b);
}

COLORREF CExtBitmap::stat_HLS_Adjust(COLORREF clr, double dH, double dL, double dS)
{
    double h = 0.0, s = 0.0, l = 0.0;
    stat_RGB2HLS(clr, h, s, l);
    h = AdjustUnit(h, dH);
    l = AdjustUnit(l, dL);
    s = AdjustUnit(s, dS);
    return stat_HLS2RGB(h, l, s);
}

COLORREF CExtBitmap::stat_RGB_Mix(COLORREF clr1, COLORREF clr2, int nWeight)
{
    // Below 100 the weight is a percentage, from 100 on a per mille value.
    int nScale = 100, nHalf = 50;
    if (nWeight >= 100)
    {
        nScale = 1000;
        nHalf = 500;
    }
    int nOther = nScale - nWeight;
    int r = (GetRValue(clr1) * nWeight + GetRValue(clr2) * nOther + nHalf) / nScale;
    int g = (GetGValue(clr1) * nWeight + GetGValue(clr2) * nOther + nHalf) / nScale;
    int b = (GetBValue(clr1) * nWeight + GetBValue(clr2) * nOther + nHalf) / nScale;
    // weights outside 0..1000 mean nothing; keep the channels in range anyway
    return RGB(ClampByte(r), ClampByte(g), ClampByte(b));
}

COLORREF CExtBitmap::stat_RGB_Blend(COLORREF clr1, COLORREF clr2, int nAlpha)
{
    int nOther = 255 - nAlpha;
    int r = (GetRValue(clr1) * nAlpha + GetRValue(clr2) * nOther) / 255;
    int g = (GetGValue(clr1) * nAlpha + GetGValue(clr2) * nOther) / 255;
    int b = (GetBValue(clr1) * nAlpha + GetBValue(clr2) * nOther) / 255;
    return RGB(ClampByte(r), ClampByte(g), ClampByte(b));
}
