// The paint-manager objects: construction, the halftone palette, theme identities and
// the small fixed answers of the operation table.
#include "toolkit/theme/paint_manager.h"
#include "toolkit/theme/pm_glyphs.h"

IMPLEMENT_DYNCREATE(CExtPaintManager, CObject)
IMPLEMENT_DYNCREATE(CExtPaintManagerXP, CExtPaintManager)
IMPLEMENT_DYNCREATE(CExtPaintManagerOffice2003, CExtPaintManagerXP)
IMPLEMENT_DYNCREATE(CExtPaintManagerStudio2005, CExtPaintManagerOffice2003)

int CExtPaintManager::g_nScreenBitsPerPixelOverride = 0;

CExtPaintManager::MONITORDATA::MONITORDATA() : m_nFlags(0x01)
{
    ::SetRectEmpty(&m_rcMonitor);
    ::SetRectEmpty(&m_rcWorkArea);
}

CExtPaintManager::CExtPaintManager()
    : m_mapColorTranslate(10),
      m_nReservedIndex(-1),
      m_nThemeValue(32),
      m_nOptionFlags(0),
      m_nDockMarkerStyle(3),
      m_nScrollBarFlags(0)
{
    if ((g_CurrentPaintManager.m_nOsFlags2 & 0x04) != 0)
        m_nOptionFlags |= 0x01;
    m_nScrollBarFlags &= ~0x01;

    // The 252-colour halftone palette: 7 reds x 6 greens x 6 blues, red outermost.
    const int nEntries = 252;
    BYTE buffer[sizeof(LOGPALETTE) + sizeof(PALETTEENTRY) * nEntries];
    LOGPALETTE* pLP = reinterpret_cast<LOGPALETTE*>(buffer);
    pLP->palVersion = 0x300;
    pLP->palNumEntries = (WORD)nEntries;
    int n = 0;
    for (int r = 0; r < 7; r++)
        for (int g = 0; g < 6; g++)
            for (int b = 0; b < 6; b++)
            {
                PALETTEENTRY& pe = pLP->palPalEntry[n++];
                pe.peRed = (BYTE)((255 * r) / 6);
                pe.peGreen = (BYTE)((255 * g) / 5);
                pe.peBlue = (BYTE)((255 * b) / 5);
                pe.peFlags = 0;
            }
    m_PaletteWide.CreatePalette(pLP);
}

CExtPaintManager::~CExtPaintManager()
{
    m_colors.RemoveAll();
    m_brushes.RemoveAll();
    for (int i = 0; i < __FONT_COUNT; i++)
        GetFontByIndex(i)->DeleteObject();
    for (int i = 0; i < __AUX_BRUSH_COUNT; i++)
        m_brushAux[i].DeleteObject();
    m_PaletteWide.DeleteObject();
    m_mapColorTranslate.RemoveAll();
}

CFont* CExtPaintManager::GetFontByIndex(int nIndex)
{
    CFont* const arr[__FONT_COUNT] = {
        &m_FontNormal,       &m_FontNormalVert,     &m_FontNormalVertX,    &m_FontBold,
        &m_FontBoldVert,     &m_FontBoldVertX,      &m_FontNormalBC,       &m_FontNormalVertBC,
        &m_FontNormalVertXBC, &m_FontBoldBC,        &m_FontBoldVertBC,     &m_FontBoldVertXBC,
        &m_FontNormalBC2,    &m_FontNormalVertBC2,  &m_FontNormalVertXBC2, &m_FontBoldBC2,
        &m_FontBoldVertBC2,  &m_FontBoldVertXBC2,   &m_FontMarlett,
    };
    if (nIndex < 0 || nIndex >= __FONT_COUNT)
        return NULL;
    return arr[nIndex];
}

void CExtPaintManager::Serialize(CArchive&) {}

int CExtPaintManager::GetThemeId() { return ThemeIdBase; }
int CExtPaintManager::GetThemeStyleValue() { return 6; }
bool CExtPaintManager::UsesLunaColors() { return false; }
int CExtPaintManager::GetLunaColorScheme() { return g_CurrentPaintManager.m_nLunaColorScheme; }
void CExtPaintManager::OnResyncHook(CExtPaintManager*, LPARAM) {}

bool CExtPaintManager::IsThemedFrameSupported(const CWnd*, LPARAM) { return false; }
HRGN CExtPaintManager::GetThemedFrameRgn(const CWnd*, const RECT&, LPARAM) { return NULL; }

bool CExtPaintManager::ReservedQuery17() { return false; }
void CExtPaintManager::ReservedHook19() {}
bool CExtPaintManager::ReservedQuery20() { return false; }
RECT CExtPaintManager::ReservedQuery21()
{
    RECT rc = {0, 0, 0, 0};
    return rc;
}
int CExtPaintManager::ReservedQuery22() { return -1; }
int CExtPaintManager::ReservedQuery23() { return -1; }
int CExtPaintManager::ReservedQuery24() { return -1; }
int CExtPaintManager::ReservedQuery25() { return -1; }
int CExtPaintManager::ReservedQuery26() { return 0; }
SIZE CExtPaintManager::ReservedQuery27()
{
    SIZE sz = {0, 0};
    return sz;
}
void CExtPaintManager::ReservedHook28() {}
int CExtPaintManager::ReservedQuery29() { return 0; }
bool CExtPaintManager::ReservedQuery30() { return false; }
bool CExtPaintManager::ReservedQuery31() { return false; }
bool CExtPaintManager::ReservedQuery32() { return false; }
bool CExtPaintManager::ReservedQuery33() { return false; }
bool CExtPaintManager::ReservedQuery34() { return false; }
bool CExtPaintManager::ReservedQuery35() { return false; }
bool CExtPaintManager::ReservedQuery36() { return false; }
bool CExtPaintManager::ReservedQuery37() { return false; }
int CExtPaintManager::ReservedQuery38() { return 0; }
SIZE CExtPaintManager::ReservedSize83()
{
    SIZE sz = {6, 6};
    return sz;
}
bool CExtPaintManager::ReservedQuery101() { return false; }
bool CExtPaintManager::ReservedQuery102() { return false; }
void CExtPaintManager::GetMenuPaletteButtonSize(SIZE& size, CObject* pMenu, LPARAM lParam)
{
    (void)pMenu;
    (void)lParam;
    size.cx = 23;
    size.cy = 22;
}
void CExtPaintManager::GetDropMarkSize(CSize& size) { size = CSize(6, 6); }

void CExtPaintManager::DrawDropMark(CDC& dc, const RECT& rcIn, bool bHorz, LPARAM)
{
    const CRect rc(rcIn);
    if (rc.IsRectEmpty())
        return;
    const COLORREF clr = LookupColor(COLOR_BTNTEXT, NULL);
    if (bHorz)
    {
        const int y = rc.top + rc.Height() / 2 - 1;
        dc.FillSolidRect(rc.left, y, rc.Width(), 2, clr);
        dc.FillSolidRect(rc.left, rc.top, 2, rc.Height(), clr);
        dc.FillSolidRect(rc.right - 2, rc.top, 2, rc.Height(), clr);
    }
    else
    {
        const int x = rc.left + rc.Width() / 2 - 1;
        dc.FillSolidRect(x, rc.top, 2, rc.Height(), clr);
        dc.FillSolidRect(rc.left, rc.top, rc.Width(), 2, clr);
        dc.FillSolidRect(rc.left, rc.bottom - 2, rc.Width(), 2, clr);
    }
}

void CExtPaintManager::DrawCustomizeSelection(CDC& dc, const RECT& rcIn)
{
    CRect rc(rcIn);
    const COLORREF clr = LookupColor(COLOR_BTNTEXT, NULL);
    for (int i = 0; i < 2 && !rc.IsRectEmpty(); i++)
    {
        dc.Draw3dRect(&rc, clr, clr);
        rc.DeflateRect(1, 1);
    }
}

bool CExtPaintManager::IsMenuCombinedWithOwner(CObject* pCookieObjectOrNull)
{
    (void)pCookieObjectOrNull;
    return ReservedQuery102();
}
int CExtPaintManager::ReservedQuery168() { return -1; }
bool CExtPaintManager::ReservedQuery171() { return false; }
bool CExtPaintManager::ReservedQuery175() { return false; }
bool CExtPaintManager::ReservedQuery176() { return false; }
bool CExtPaintManager::GetScrollBarMetrics(int* pHorzBarHeight, int* pVertBarWidth,
                                           int* pHorzButtonWidth, int* pVertButtonHeight,
                                           int* pHorzThumbMin, int* pVertThumbMin)
{
    (void)pHorzBarHeight, (void)pVertBarWidth, (void)pHorzButtonWidth, (void)pVertButtonHeight;
    (void)pHorzThumbMin, (void)pVertThumbMin;
    return false;
}
bool CExtPaintManager::DrawReportSortArrow(CDC& dc, const RECT& rc, bool bAscending,
                                           CObject* pHelperSrc, LPARAM lParam)
{
    (void)dc, (void)rc, (void)bAscending, (void)pHelperSrc, (void)lParam;
    return false;
}
bool CExtPaintManager::DrawReportGroupArea(CDC& dc, const RECT& rc, LPCTSTR sHintText,
                                           CObject* pHelperSrc, LPARAM lParam)
{
    (void)dc, (void)rc, (void)sHintText, (void)pHelperSrc, (void)lParam;
    return false;
}
void CExtPaintManager::ReservedHook178() {}
void CExtPaintManager::NotifyPaintDone(CObject* pHelperSrc, LPARAM lParam)
{
    (void)pHelperSrc, (void)lParam;
    ReservedHook178();
}
bool CExtPaintManager::ReservedQuery179() { return false; }
bool CExtPaintManager::ReservedQuery180() { return false; }

SIZE CExtPaintManager::GetPushedOffset()
{
    SIZE sz = {1, 1};
    return sz;
}
bool CExtPaintManager::UsesToolbarGradient(CExtControlBar*) { return false; }
bool CExtPaintManager::QueryTabWndOption(CObject*, LPARAM) { return false; }
void CExtPaintManager::AdjustTabItemSize(CObject*, CObject*, int, SIZE&) {}
bool CExtPaintManager::QueryTabWndMetric(LONG&, LONG, CObject*) { return false; }
int CExtPaintManager::GetComboDropDownButtonWidth() { return 15; }
int CExtPaintManager::QueryBarSettingDefault() { return 0; }
int CExtPaintManager::QueryTabSettingDefault() { return 0; }
void CExtPaintManager::EmptyHook6(CDC&, const RECT&, int, int, CObject*, LPARAM) {}
int CExtPaintManager::GetPanelSysColorIndex() { return 15; }
CObject* CExtPaintManager::GetScrollBarSkin(bool, CExtScrollBar*, LPARAM, bool) { return NULL; }
bool CExtPaintManager::DrawReportHeader(CDC&, const RECT&, CObject*, LPARAM) { return false; }
void CExtPaintManager::DrawBarButtonGradient(CDC&, CExtBarButton*, LPARAM) {}
POINT CExtPaintManager::GetTextOffset(POINT& ptOffset, bool)
{
    ptOffset.x = 0;
    ptOffset.y = 0;
    return ptOffset;
}
SIZE CExtPaintManager::GetToolbarRoundedCornerSize()
{
    SIZE sz = {0, 0};
    return sz;
}
bool CExtPaintManager::GetLunaBaseColors(COLORREF*, COLORREF*) { return false; }

COLORREF CExtPaintManager::GetDisabledIconColor() { return COLORREF(-1); }
double CExtPaintManager::GetDisabledIconAlpha() { return 0.0; }

// ---- XP --------------------------------------------------------------------------------------

CExtPaintManagerXP::CExtPaintManagerXP()
    : m_nXpFlags(0x03),
      m_pGlyphMenuDropHorz(&g_glyphDropArrowDown),
      m_pGlyphMenuChevronHorz(&g_glyphDoubleChevronRight),
      m_pGlyphMenuDropVert(&g_glyphDropArrowLeft),
      m_pGlyphMenuChevronVert(&g_glyphDoubleChevronDown),
      m_nIdxClrMlaNormLeft(-1),
      m_nIdxClrMlaNormRight(-1),
      m_nIdxClrMlaNormMiddle(-1),
      m_nIdxClrMlaRarelyLeft(-1),
      m_nIdxClrMlaRarelyRight(-1),
      m_nIdxClrMlaRarelyMiddle(-1),
      m_nIdxClrTbFillMargin(-1),
      m_nIdxClrTbFillReserved(-1),
      m_nIdxClrBtnHoverLeft(-1),
      m_nIdxClrBtnHoverRight(-1),
      m_nIdxClrBtnPressedLeft(-1),
      m_nIdxClrBtnPressedRight(-1),
      m_nIdxClrBtnHovPresLeft(-1),
      m_nIdxClrBtnHovPresRight(-1),
      m_nIdxClrBtnDropArrowEnabled(-1),
      m_nIdxClrBtnDropArrowDisabled(-1)
{
    // The chevron glyphs: the drop arrow and the double chevron, turned by 90 degrees
    // for a vertical bar.
}

CExtPaintManagerXP::~CExtPaintManagerXP() {}

int CExtPaintManagerXP::GetThemeId() { return ThemeIdXP; }
int CExtPaintManagerXP::GetThemeStyleValue() { return 1; }
SIZE CExtPaintManagerXP::GetPushedOffset()
{
    SIZE sz = {0, 0};
    return sz;
}
bool CExtPaintManagerXP::ReservedQuery101() { return true; }
bool CExtPaintManagerXP::ReservedQuery102() { return true; }
void CExtPaintManagerXP::ReservedHook178() {}
bool CExtPaintManagerXP::ReservedQuery179() { return false; }
bool CExtPaintManagerXP::ReservedQuery180() { return false; }

// ---- Office 2003 -----------------------------------------------------------------------------

CExtPaintManagerOffice2003::CExtPaintManagerOffice2003() : m_nIdxClrTbBorder(-1)
{
    m_nXpFlags &= ~0x03;
    m_nXpFlags |= 0x04;
    // A bar over a down triangle and two small triangles; for a vertical bar the arrow
    // turned by 270 degrees and the triangles by 90.
    m_pGlyphMenuDropHorz = &g_glyphBarOverDown;
    m_pGlyphMenuChevronHorz = &g_glyphTwoRightTriangles;
    m_pGlyphMenuDropVert = &g_glyphBarOverDown270;
    m_pGlyphMenuChevronVert = &g_glyphTwoDownTriangles;
    // The scheme's light-to-dark ramps: 3015 (leading edge), 3016 (middle), 3017 (trailing
    // edge); 3018 to 3020 likewise for rarely used items.
    m_nIdxClrMlaNormLeft = 3015;
    m_nIdxClrMlaNormRight = 3017;
    m_nIdxClrMlaNormMiddle = 3016;
    m_nIdxClrMlaRarelyLeft = 3018;
    m_nIdxClrMlaRarelyRight = 3020;
    m_nIdxClrMlaRarelyMiddle = 3019;
}

CExtPaintManagerOffice2003::~CExtPaintManagerOffice2003() {}

int CExtPaintManagerOffice2003::GetThemeId() { return ThemeIdOffice2003; }
bool CExtPaintManagerOffice2003::ReservedQuery102() { return false; }

COLORREF CExtPaintManagerOffice2003::GetDisabledIconColor() { return LookupColor(15); }
double CExtPaintManagerOffice2003::GetDisabledIconAlpha() { return -0.5; }

// ---- Studio 2005 -----------------------------------------------------------------------------

CExtPaintManagerStudio2005::CExtPaintManagerStudio2005() {}

CExtPaintManagerStudio2005::~CExtPaintManagerStudio2005() {}

int CExtPaintManagerStudio2005::GetThemeId() { return ThemeIdStudio2005; }

COLORREF CExtPaintManagerStudio2005::GetDisabledIconColor()
{
    const int nScheme = GetLunaColorScheme();
    if (nScheme == 2)
        return RGB(164, 165, 144);
    if (nScheme == 0)
        return CExtPaintManagerOffice2003::GetDisabledIconColor();
    return RGB(0, 0, 128);
}

double CExtPaintManagerStudio2005::GetDisabledIconAlpha()
{
    return (GetLunaColorScheme() == 0) ? -0.5 : -0.7;
}

// ---- small fixed metrics and queries ---------------------------------------------------------

void CExtPaintManager::GetThemedFrameBorders(RECT& rcBorders, RECT& rcCaption, const CWnd*, LPARAM)
{
    ::SetRectEmpty(&rcBorders);
    ::SetRectEmpty(&rcCaption);
}

void CExtPaintManager::DrawThemedFrame(CObject*, CDC&, const RECT&, const RECT&, const RECT&,
                                       const RECT&, const RECT&, const RECT&, const RECT&,
                                       const RECT&, LPCTSTR, HICON, bool, bool, bool, bool, bool,
                                       bool, UINT, UINT, LPARAM)
{
}

RECT CExtPaintManager::GetThemedFrameRect(const CWnd*, const RECT&, bool, bool, bool, UINT, LPARAM)
{
    RECT rc = {0, 0, 0, 0};
    return rc;
}

void CExtPaintManager::GetThemedFrameButtonRects(const CWnd*, const RECT&, bool, RECT& rcIcon,
                                                 RECT& rcCaptionText, RECT& rcHelp,
                                                 RECT& rcMinimize, RECT& rcMaximizeRestore,
                                                 RECT& rcClose, DWORD, LPARAM)
{
    ::SetRectEmpty(&rcIcon);
    ::SetRectEmpty(&rcCaptionText);
    ::SetRectEmpty(&rcHelp);
    ::SetRectEmpty(&rcMinimize);
    ::SetRectEmpty(&rcMaximizeRestore);
    ::SetRectEmpty(&rcClose);
}

bool CExtPaintManager::GetMiniFrameCaptionRect(RECT& rcCaption, const CWnd* pWnd, bool, LPARAM)
{
    HWND hWnd = pWnd->GetSafeHwnd();
    if (hWnd == NULL)
        return false;
    RECT rc;
    ::GetWindowRect(hWnd, &rc);
    ::OffsetRect(&rc, -rc.left, -rc.top);
    rc.left += ::GetSystemMetrics(SM_CXFRAME);
    rc.right -= ::GetSystemMetrics(SM_CXFRAME);
    rc.top += ::GetSystemMetrics(SM_CYFRAME);
    rc.bottom = rc.top + ::GetSystemMetrics(SM_CYSMSIZE);
    rcCaption = rc;
    return true;
}

SIZE CExtPaintManager::GetCheckBoxSize()
{
    SIZE sz = {13, 13};
    return sz;
}

SIZE CExtPaintManager::GetRadioButtonSize()
{
    SIZE sz = {13, 13};
    return sz;
}

int CExtPaintManager::GetMenuTearOffCaptionHeight() { return 8; }
int CExtPaintManager::GetTipShadowSize() { return 3; }
int CExtPaintManager::GetMenuShadowSize() { return 4; }
int CExtPaintManager::GetMenuCheckHeight() { return ::GetSystemMetrics(SM_CYMENUCHECK); }

int CExtPaintManager::GetMenuTextHeight(bool)
{
    int nHeight = 0;
    HDC hScreen = ::GetDC(NULL);
    HDC hDC = (hScreen != NULL) ? ::CreateCompatibleDC(hScreen) : NULL;
    if (hScreen != NULL)
        ::ReleaseDC(NULL, hScreen);
    if (hDC == NULL)
        return 2;
    HGDIOBJ hOld = NULL;
    if (m_FontNormal.GetSafeHandle() != NULL)
        hOld = ::SelectObject(hDC, m_FontNormal.GetSafeHandle());
    TEXTMETRICA tm;
    ::memset(&tm, 0, sizeof(tm));
    if (::GetTextMetricsA(hDC, &tm))
        nHeight = tm.tmHeight;
    if (hOld != NULL)
        ::SelectObject(hDC, hOld);
    ::DeleteDC(hDC);
    return nHeight + 2;
}

void CExtPaintManager::GetMenuBorderMargins(RECT& rcMargins, CObject*, LPARAM)
{
    ::SetRect(&rcMargins, 2, 2, 2, 2);
}

bool CExtPaintManager::IsParentBackgroundOn() { return (m_nOptionFlags & 0x02) != 0; }

void CExtPaintManager::GetPanelMargins(RECT& rcMargins) { ::SetRect(&rcMargins, 12, 9, 12, 12); }
int CExtPaintManager::GetPanelCaptionHeight() { return 25; }
void CExtPaintManager::GetPanelCaptionTextMargins(RECT& rcMargins)
{
    ::SetRect(&rcMargins, 13, 0, 2, 0);
}

void CExtPaintManager::GetDockMarkerMargins(RECT& rcMargins)
{
    const int n = (m_nDockMarkerStyle == 2 || m_nDockMarkerStyle == 3) ? 5 : 0;
    ::SetRect(&rcMargins, n, n, n, n);
}

bool CExtPaintManager::IsDockMarkerStyle1(int) { return m_nDockMarkerStyle == 1; }
