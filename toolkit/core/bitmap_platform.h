// What the image code needs to know of the running system: whether it is Windows 9x
// or NT 5 and later, and msimg32's AlphaBlend looked up at run time; also the colour
// range of a key. The core library
// cannot ask the paint-manager holder (it links after us), so the facts are gathered
// here the same way, once, on first use.
#pragma once
#include "framework/platform.h"

class CExtBitmapPlatform
{
public:
    enum
    {
        __OS_WIN9X = 0x01,
        __OS_NT = 0x02,
        __OS_NT5_OR_LATER = 0x04,
    };
    typedef BOOL(WINAPI* PFN_ALPHABLEND)(HDC, int, int, int, int, HDC, int, int, int, int, BLENDFUNCTION);

    static DWORD GetOsFlags();
    // NULL when msimg32 or its entry point is missing, or before NT 5.
    static PFN_ALPHABLEND GetAlphaBlend();
    // Tests and benchmarks switch the platform blend off to exercise the computed one;
    // passing false restores the looked-up entry point.
    static void DisableAlphaBlend(bool bDisable);
};

// The colours a key with a tolerance stands for: on each channel from the key's value
// up to the key's plus the tolerance's, capped at 255.
struct CExtColorKeyRange
{
    int m_r0, m_g0, m_b0, m_r1, m_g1, m_b1;

    CExtColorKeyRange(COLORREF clrKey, COLORREF clrTolerance);
    bool Contains(int r, int g, int b) const
    {
        return m_r0 <= r && r <= m_r1 && m_g0 <= g && g <= m_g1 && m_b0 <= b && b <= m_b1;
    }
};
