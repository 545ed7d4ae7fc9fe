#include "toolkit/core/bitmap_platform.h"
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

void FillHeader32(BITMAPINFOHEADER& bih, int cx, int cy)
{
    ::memset(&bih, 0, sizeof(bih));
    bih.biSize = sizeof(BITMAPINFOHEADER);
    bih.biWidth = cx;
    bih.biHeight = cy;
    bih.biPlanes = 1;
    bih.biBitCount = 32;
    bih.biCompression = BI_RGB;
    bih.biSizeImage = (DWORD)(cx * cy);
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
