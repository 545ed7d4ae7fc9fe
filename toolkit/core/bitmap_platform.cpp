#include "toolkit/core/bitmap_platform.h"
#include "toolkit/core/bitmap.h"
#include <string.h>

namespace {

struct PlatformFacts
{
    DWORD m_dwOsFlags;
    CExtBitmapPlatform::PFN_ALPHABLEND m_pfnAlphaBlend;
    bool m_bDisabled;

    PlatformFacts() : m_dwOsFlags(0), m_pfnAlphaBlend(NULL), m_bDisabled(false)
    {
        OSVERSIONINFOA ovi;
        ZeroMemory(&ovi, sizeof(ovi));
        ovi.dwOSVersionInfoSize = sizeof(ovi);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
        BOOL bVersion = ::GetVersionExA(&ovi);
#pragma GCC diagnostic pop
        if (bVersion)
        {
            if (ovi.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS)
                m_dwOsFlags |= CExtBitmapPlatform::__OS_WIN9X;
            else if (ovi.dwPlatformId == VER_PLATFORM_WIN32_NT)
            {
                m_dwOsFlags |= CExtBitmapPlatform::__OS_NT;
                if (ovi.dwMajorVersion >= 5)
                    m_dwOsFlags |= CExtBitmapPlatform::__OS_NT5_OR_LATER;
            }
        }
        if (m_dwOsFlags & CExtBitmapPlatform::__OS_NT5_OR_LATER)
        {
            HMODULE hMsImg = ::LoadLibraryA("msimg32.dll");
            if (hMsImg != NULL)
                m_pfnAlphaBlend = (CExtBitmapPlatform::PFN_ALPHABLEND)(void*)::GetProcAddress(hMsImg, "AlphaBlend");
        }
    }
};

PlatformFacts& Facts()
{
    static PlatformFacts facts;
    return facts;
}

}  // namespace

DWORD CExtBitmapPlatform::GetOsFlags()
{
    return Facts().m_dwOsFlags;
}

CExtBitmapPlatform::PFN_ALPHABLEND CExtBitmapPlatform::GetAlphaBlend()
{
    PlatformFacts& f = Facts();
    return f.m_bDisabled ? NULL : f.m_pfnAlphaBlend;
}

void CExtBitmapPlatform::DisableAlphaBlend(bool bDisable)
{
    Facts().m_bDisabled = bDisable;
}

HBITMAP CreateDib32(HDC hDC, int cx, int cy, void** ppBits, bool bBottomUp)
{
    void* pBits = NULL;
    HBITMAP hBmp = NULL;
    if (cx > 0 && cy > 0)
    {
        BITMAPINFO bmi;
        ::memset(&bmi, 0, sizeof(bmi));
        bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        bmi.bmiHeader.biWidth = cx;
        // a negative height is how a header asks for the top row first
        bmi.bmiHeader.biHeight = bBottomUp ? cy : -cy;
        bmi.bmiHeader.biPlanes = 1;
        bmi.bmiHeader.biBitCount = 32;
        bmi.bmiHeader.biCompression = BI_RGB;
        hBmp = ::CreateDIBSection(hDC, &bmi, DIB_RGB_COLORS, &pBits, NULL, 0);
        if (hBmp != NULL && pBits == NULL)
        {
            ::DeleteObject(hBmp);
            hBmp = NULL;
        }
    }
    if (ppBits != NULL)
        *ppBits = (hBmp != NULL) ? pBits : NULL;
    return hBmp;
}

CExtColorKeyRange::CExtColorKeyRange(COLORREF clrKey, COLORREF clrTolerance)
    : m_r0(GetRValue(clrKey)), m_g0(GetGValue(clrKey)), m_b0(GetBValue(clrKey))
{
    m_r1 = m_r0 + GetRValue(clrTolerance);
    m_g1 = m_g0 + GetGValue(clrTolerance);
    m_b1 = m_b0 + GetBValue(clrTolerance);
    if (m_r1 > 255)
        m_r1 = 255;
    if (m_g1 > 255)
        m_g1 = 255;
    if (m_b1 > 255)
        m_b1 = 255;
}
