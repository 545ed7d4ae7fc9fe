// Fonts: the nineteen fonts the paint manager owns, built from the system's menu and
// small-caption fonts on every re-synchronisation, and the system-font factory.
#include "toolkit/theme/paint_manager.h"
#include "toolkit/core/resource_manager.h"

namespace {

struct FaceSearch
{
    LPCTSTR m_sFace;
    bool m_bFound;
};

// Makes pFont a copy of pSource with one change applied; an empty source leaves the
// font empty, so drawing code selects nothing new.
void DeriveFont(CFont& font, CFont& source, int nWeight, int nEscapement, bool bRotatedFace,
                bool bKeepWeight, bool bKeepEscapement)
{
    font.DeleteObject();
    if (source.GetSafeHandle() == NULL)
        return;
    LOGFONT lf;
    ::memset(&lf, 0, sizeof(lf));
    if (source.GetObject(sizeof(LOGFONT), &lf) == 0)
        return;
    if (!bKeepWeight)
        lf.lfWeight = nWeight;
    if (!bKeepEscapement)
    {
        lf.lfEscapement = nEscapement;
        // The UI face of Windows 9x and NT 4 does not rotate.
        if (bRotatedFace && (g_CurrentPaintManager.m_nOsFlags1 & (0x02 | 0x40)) != 0)
            ::lstrcpynA(lf.lfFaceName, "Arial", LF_FACESIZE);
    }
    font.CreateFontIndirect(&lf);
}

void CopyFont(CFont& font, CFont& source)
{
    DeriveFont(font, source, 0, 0, false, true, true);
}

void RotateFont(CFont& font, CFont& source, int nEscapement)
{
    DeriveFont(font, source, 0, nEscapement, true, true, false);
}

void BoldFont(CFont& font, CFont& source)
{
    DeriveFont(font, source, 900, 0, false, false, true);
}

}  // namespace

int CALLBACK CExtPaintManager::FontFaceEnumProc(const LOGFONT* pLF, const TEXTMETRIC*, DWORD,
                                                LPARAM lParam)
{
    FaceSearch* pSearch = reinterpret_cast<FaceSearch*>(lParam);
    if (pLF != NULL && pSearch != NULL && ::lstrcmpiA(pLF->lfFaceName, pSearch->m_sFace) == 0)
    {
        pSearch->m_bFound = true;
        return 0;  // found: stop
    }
    return 1;
}

bool CExtPaintManager::IsFontFaceInstalled(LPCTSTR sFaceName)
{
    if (sFaceName == NULL || *sFaceName == '\0')
        return false;
    FaceSearch search = {sFaceName, false};
    HDC hDC = ::GetDC(NULL);
    if (hDC == NULL)
        return false;
    ::EnumFontFamiliesA(hDC, NULL, (FONTENUMPROCA)FontFaceEnumProc,
                        reinterpret_cast<LPARAM>(&search));
    ::ReleaseDC(NULL, hDC);
    return search.m_bFound;
}

HFONT CExtPaintManager::CreateSystemFont(bool bUseFallbackFace, bool bSmallCaptionFont)
{
    // The size of the structure before Windows Vista added a field: every system
    // accepts it.
    NONCLIENTMETRICSA ncm;
    ::memset(&ncm, 0, sizeof(ncm));
    ncm.cbSize = 340;
    if (!::SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, 340, &ncm, 0))
        return NULL;
    BYTE nCharSet = DEFAULT_CHARSET;
    HDC hDC = ::GetDC(NULL);
    if (hDC != NULL)
    {
        nCharSet = (BYTE)::GetTextCharset(hDC);
        ::ReleaseDC(NULL, hDC);
    }
    ncm.lfMenuFont.lfCharSet = nCharSet;
    ncm.lfSmCaptionFont.lfCharSet = nCharSet;
    LPCTSTR sPreferred = g_CurrentResourceManager->GetFontFaceName();
    if (sPreferred != NULL && *sPreferred != '\0' && IsFontFaceInstalled(sPreferred))
        ::lstrcpynA(ncm.lfMenuFont.lfFaceName, sPreferred, LF_FACESIZE);
    else if (bUseFallbackFace && IsFontFaceInstalled("Tahoma"))
        ::lstrcpynA(ncm.lfMenuFont.lfFaceName, "Tahoma", LF_FACESIZE);
    return ::CreateFontIndirectA(bSmallCaptionFont ? &ncm.lfSmCaptionFont : &ncm.lfMenuFont);
}

HFONT CExtPaintManager::GetDefaultGuiFont()
{
    HFONT hFont = CreateSystemFont((m_nOptionFlags & 0x01) != 0, false);
    if (hFont == NULL)
        hFont = (HFONT)::GetStockObject(DEFAULT_GUI_FONT);
    if (hFont == NULL)
        hFont = (HFONT)::GetStockObject(SYSTEM_FONT);
    return hFont;
}

HFONT CExtPaintManager::GetNormalWeightFont()
{
    HFONT hFont = CreateSystemFont(false, true);
    if (hFont != NULL)
    {
        LOGFONT lf;
        ::memset(&lf, 0, sizeof(lf));
        if (::GetObjectA(hFont, sizeof(LOGFONT), &lf) != 0)
        {
            lf.lfWeight = 400;
            HFONT hNormal = ::CreateFontIndirectA(&lf);
            if (hNormal != NULL)
            {
                ::DeleteObject(hFont);
                return hNormal;
            }
        }
        ::DeleteObject(hFont);
    }
    hFont = (HFONT)::GetStockObject(DEFAULT_GUI_FONT);
    if (hFont == NULL)
        hFont = (HFONT)::GetStockObject(SYSTEM_FONT);
    return hFont;
}

void CExtPaintManager::RefreshFonts()
{
    // 1.
    g_CurrentPaintManager.DetectLunaColorScheme();
    // 2.
    m_FontNormal.DeleteObject();
    m_FontNormal.Attach(GetDefaultGuiFont());
    m_FontNormalBC.DeleteObject();
    m_FontNormalBC.Attach(GetNormalWeightFont());
    // 3.
    BoldFont(m_FontBold, m_FontNormal);
    BoldFont(m_FontBoldBC, m_FontNormalBC);
    // 4.
    m_FontMarlett.DeleteObject();
    if (m_FontNormal.GetSafeHandle() != NULL)
    {
        LOGFONT lf;
        ::memset(&lf, 0, sizeof(lf));
        if (m_FontNormal.GetObject(sizeof(LOGFONT), &lf) != 0)
        {
            lf.lfCharSet = SYMBOL_CHARSET;
            lf.lfWeight = 0;
            lf.lfHeight = ::GetSystemMetrics(SM_CYMENUCHECK) - 1;
            ::lstrcpynA(lf.lfFaceName, "Marlett", LF_FACESIZE);
            m_FontMarlett.CreateFontIndirect(&lf);
        }
    }
    // 5. - 7.
    RotateFont(m_FontNormalVert, m_FontNormal, 2700);
    RotateFont(m_FontNormalVertX, m_FontNormal, 900);
    RotateFont(m_FontNormalVertBC, m_FontNormalBC, 2700);
    RotateFont(m_FontNormalVertXBC, m_FontNormalBC, 900);
    RotateFont(m_FontBoldVert, m_FontBold, 2700);
    RotateFont(m_FontBoldVertX, m_FontBold, 900);
    RotateFont(m_FontBoldVertBC, m_FontBoldBC, 2700);
    RotateFont(m_FontBoldVertXBC, m_FontBoldBC, 900);
    // 8.
    CopyFont(m_FontNormalBC2, m_FontNormalBC);
    CopyFont(m_FontNormalVertBC2, m_FontNormalVertBC);
    CopyFont(m_FontNormalVertX, m_FontNormalVertXBC);
    CopyFont(m_FontNormalVertXBC2, m_FontNormalVertXBC);
    CopyFont(m_FontBoldBC2, m_FontBoldBC);
    CopyFont(m_FontBoldVertBC2, m_FontBoldVertBC);
    CopyFont(m_FontBoldVertXBC2, m_FontBoldVertXBC);
}

SIZE CExtPaintManager::GetFontTextHeights(bool bBold)
{
    SIZE sz = {0, 0};
    HDC hDC = ::GetDC(NULL);
    if (hDC == NULL)
        return sz;
    HGDIOBJ hOld = ::GetCurrentObject(hDC, OBJ_FONT);
    TEXTMETRICA tm;
    CFont& fontFirst = bBold ? m_FontBold : m_FontNormal;
    if (fontFirst.GetSafeHandle() != NULL)
        ::SelectObject(hDC, fontFirst.GetSafeHandle());
    ::memset(&tm, 0, sizeof(tm));
    ::GetTextMetricsA(hDC, &tm);
    sz.cx = tm.tmHeight + 2;
    if (m_FontNormal.GetSafeHandle() != NULL)
        ::SelectObject(hDC, m_FontNormal.GetSafeHandle());
    ::memset(&tm, 0, sizeof(tm));
    ::GetTextMetricsA(hDC, &tm);
    sz.cy = tm.tmHeight + 2;
    ::SelectObject(hDC, hOld);
    ::ReleaseDC(NULL, hDC);
    return sz;
}
