// The command icon: its images, the disabled look made from the main image in the
// style of the paint manager, painting in a state or in a single-colour effect,
// scaling, copying, storing and the small standard icons.
#include "toolkit/core/cmd_icon.h"
#include "toolkit/core/bitmap.h"

namespace {

const CExtCmdIconThemeHooks* s_pThemeHooks = NULL;

int ThemeIdOf(CExtPaintManager* pPM)
{
    if (s_pThemeHooks != NULL && s_pThemeHooks->m_pfnGetThemeId != NULL)
        return s_pThemeHooks->m_pfnGetThemeId(pPM);
    return CExtCmdIcon::__THEME_ID_BASE;
}

COLORREF LookupColorOf(CExtPaintManager* pPM, int nIndex)
{
    if (pPM != NULL && s_pThemeHooks != NULL && s_pThemeHooks->m_pfnLookupColor != NULL)
        return s_pThemeHooks->m_pfnLookupColor(pPM, nIndex);
    // without the theme engine the system colours answer for the theme's
    if (nIndex >= 0 && nIndex <= COLOR_MENUBAR)
        return ::GetSysColor(nIndex);
    return ::GetSysColor(nIndex == 1010 ? COLOR_BTNTEXT : COLOR_3DFACE);
}

int LunaSchemeOf(CExtPaintManager* pPM)
{
    if (s_pThemeHooks != NULL && s_pThemeHooks->m_pfnGetLunaColorScheme != NULL)
        return s_pThemeHooks->m_pfnGetLunaColorScheme(pPM);
    return 0;
}

COLORREF DisabledIconColorOf(CExtPaintManager* pPM)
{
    if (s_pThemeHooks != NULL && s_pThemeHooks->m_pfnGetDisabledIconColor != NULL)
        return s_pThemeHooks->m_pfnGetDisabledIconColor(pPM);
    return COLORREF(-1L);
}

double DisabledIconAlphaOf(CExtPaintManager* pPM)
{
    if (s_pThemeHooks != NULL && s_pThemeHooks->m_pfnGetDisabledIconAlpha != NULL)
        return s_pThemeHooks->m_pfnGetDisabledIconAlpha(pPM);
    return 0.0;
}

// A palette image keeps its pixels through the colour edits; the effects work on a
// 32-bit copy of it so that it gets the same look as deeper images.
void DeepenIfPalette(CExtBitmap& bmp)
{
    if (!bmp.IsEmpty() && bmp.GetBPP() < 15)
        bmp.Make32();
}

// Painting with nothing to show draws nothing; a negative extent stands for the
// icon's own size. False when there is nothing to paint.
bool ResolvePaintExtent(const CExtCmdIcon& icon, HDC hDC, int& cx, int& cy)
{
    if (hDC == NULL || icon.IsEmpty() || cx == 0 || cy == 0)
        return false;
    CSize sz = icon.GetSize();
    if (cx < 0)
        cx = sz.cx;
    if (cy < 0)
        cy = sz.cy;
    return true;
}

// The single colour of the mono and tinted effects: the colour's hue with its
// lightness and saturation exchanged.
COLORREF EffectColorOf(COLORREF clr)
{
    double h = 0.0, s = 0.0, l = 0.0;
    CExtBitmap::stat_RGB2HLS(clr, h, s, l);
    return CExtBitmap::stat_HLS2RGB(h, l, s);
}

}  // namespace

void CExtCmdIcon::stat_SetThemeHooks(const CExtCmdIconThemeHooks* pHooks)
{
    s_pThemeHooks = pHooks;
}

const CExtCmdIconThemeHooks* CExtCmdIcon::stat_GetThemeHooks()
{
    return s_pThemeHooks;
}

CExtCmdIcon::CExtCmdIcon() : m_dwFlags(0) {}

CExtCmdIcon::CExtCmdIcon(const CExtCmdIcon& other) : m_dwFlags(0)
{
    AssignFrom(other);
}

CExtCmdIcon& CExtCmdIcon::operator=(const CExtCmdIcon& other)
{
    if (this != &other)
        AssignFrom(other);
    return *this;
}

CExtCmdIcon::~CExtCmdIcon()
{
    m_dwFlags = 0;
    m_bmpNormal.Empty();
    m_bmpDisabled.Empty();
    m_bmpHover.Empty();
    m_bmpPressed.Empty();
}

void CExtCmdIcon::AssignFrom(const CExtCmdIcon& other)
{
    if (this == &other)
        return;
    Empty();
    m_dwFlags = other.m_dwFlags;
    m_bmpNormal.AssignFrom(other.m_bmpNormal);
    if (m_dwFlags & __EXT_ICON_PERSISTENT_BITMAP_DISABLED)
        m_bmpDisabled.AssignFrom(other.m_bmpDisabled);
    if (m_dwFlags & __EXT_ICON_PERSISTENT_BITMAP_HOVER)
        m_bmpHover.AssignFrom(other.m_bmpHover);
    if (m_dwFlags & __EXT_ICON_PERSISTENT_BITMAP_PRESSED)
        m_bmpPressed.AssignFrom(other.m_bmpPressed);
    OnContentChanged();
}

void CExtCmdIcon::AssignFromHICON(HICON hIcon, bool bCopyIcon)
{
    Empty();
    if (hIcon == NULL)
        return;
    m_bmpNormal.AssignFromHICON(hIcon);
    if (!bCopyIcon)
        ::DestroyIcon(hIcon);
    OnContentChanged();
}

void CExtCmdIcon::AssignFromHBITMAP(HBITMAP hBitmap, COLORREF clrTransparent, const RECT* pRect, bool bCopyBitmap)
{
    Empty();
    if (hBitmap == NULL)
        return;
    if (!m_bmpNormal.AssignFromHBITMAP(hBitmap, pRect, false, false))
        return;
    if (clrTransparent != COLORREF(-1L))
    {
        m_bmpNormal.Make32();
        m_bmpNormal.SetAlphaForColor(clrTransparent, RGB(0, 0, 0), 0);
    }
    if (!bCopyBitmap)
        ::DeleteObject(hBitmap);
    OnContentChanged();
}

bool CExtCmdIcon::IsEmpty() const
{
    return m_bmpNormal.IsEmpty();
}

void CExtCmdIcon::Empty()
{
    m_dwFlags = 0;
    m_bmpNormal.Empty();
    m_bmpDisabled.Empty();
    m_bmpHover.Empty();
    m_bmpPressed.Empty();
    OnContentChanged();
}

void CExtCmdIcon::Serialize(CArchive& ar)
{
    if (ar.IsStoring())
    {
        ar << m_dwFlags;
        m_bmpNormal.Serialize(ar);
        if (m_dwFlags & __EXT_ICON_PERSISTENT_BITMAP_DISABLED)
            m_bmpDisabled.Serialize(ar);
        if (m_dwFlags & __EXT_ICON_PERSISTENT_BITMAP_HOVER)
            m_bmpHover.Serialize(ar);
        if (m_dwFlags & __EXT_ICON_PERSISTENT_BITMAP_PRESSED)
            m_bmpPressed.Serialize(ar);
        return;
    }
    Empty();
    try
    {
        DWORD dwFlags = 0;
        ar >> dwFlags;
        m_dwFlags = dwFlags;
        m_bmpNormal.Serialize(ar);
        if (m_dwFlags & __EXT_ICON_PERSISTENT_BITMAP_DISABLED)
            m_bmpDisabled.Serialize(ar);
        if (m_dwFlags & __EXT_ICON_PERSISTENT_BITMAP_HOVER)
            m_bmpHover.Serialize(ar);
        if (m_dwFlags & __EXT_ICON_PERSISTENT_BITMAP_PRESSED)
            m_bmpPressed.Serialize(ar);
    }
    catch (...)
    {
        // a half-read icon is no icon
        Empty();
        throw;
    }
    OnContentChanged();
}

CSize CExtCmdIcon::GetSize() const
{
    return m_bmpNormal.GetSize();
}

void CExtCmdIcon::OnPaintManagerChanged()
{
    DropGeneratedStateImages();
}

void CExtCmdIcon::DropGeneratedStateImages()
{
    if ((m_dwFlags & __EXT_ICON_PERSISTENT_BITMAP_DISABLED) == 0)
        m_bmpDisabled.Empty();
    if ((m_dwFlags & __EXT_ICON_PERSISTENT_BITMAP_HOVER) == 0)
        m_bmpHover.Empty();
    if ((m_dwFlags & __EXT_ICON_PERSISTENT_BITMAP_PRESSED) == 0)
        m_bmpPressed.Empty();
}

void CExtCmdIcon::OnContentChanged() {}

void CExtCmdIcon::SyncStateImages(CExtPaintManager* pPM)
{
    if (IsEmpty())
        return;
    m_bmpDisabled.Empty();
    m_bmpDisabled.AssignFrom(m_bmpNormal);
    m_bmpDisabled.Make32();
    double dAlphaDelta = -0.5;
    if (pPM == NULL)
        m_bmpDisabled.MakeMono(::GetSysColor(COLOR_3DFACE));
    else
    {
        switch (ThemeIdOf(pPM))
        {
        case __THEME_ID_XP:
        {
            double h = 0.0, s = 0.0, l = 0.0;
            CExtBitmap::stat_RGB2HLS(LookupColorOf(pPM, 2001), h, s, l);
            m_bmpDisabled.SetAlphaForColor(RGB(255, 255, 255), RGB(0x20, 0x20, 0x20), 0);
            m_bmpDisabled.AdjustHLS(COLORREF(-1L), 0, 0.0, -1.0, -1.0);
            m_bmpDisabled.MakeMono(CExtBitmap::stat_HLS2RGB(h, l, s));
            m_bmpDisabled.AdjustHLS(COLORREF(-1L), 0, 0.0, 0.5, 0.0);
            dAlphaDelta = -0.5;
            break;
        }
        case __THEME_ID_BASE:
            m_bmpDisabled.MakeMono();
            dAlphaDelta = -0.75;
            break;
        default:
        {
            COLORREF clrDisabled = DisabledIconColorOf(pPM);
            if (LunaSchemeOf(pPM) != 0 && clrDisabled != COLORREF(-1L))
            {
                double h = 0.0, s = 0.0, l = 0.0;
                CExtBitmap::stat_RGB2HLS(clrDisabled, h, s, l);
                m_bmpDisabled.MakeMono(CExtBitmap::stat_HLS2RGB(h, l, 0.3));
                dAlphaDelta = DisabledIconAlphaOf(pPM);
            }
            else
            {
                m_bmpDisabled.MakeMono(LookupColorOf(pPM, COLOR_3DFACE));
                dAlphaDelta = -0.7;
            }
            break;
        }
        }
    }
    m_bmpDisabled.AdjustAlpha(dAlphaDelta);
    OnContentChanged();
}

void CExtCmdIcon::OnSysColorChange(CExtPaintManager* pPM)
{
    DropGeneratedStateImages();
    SyncStateImages(pPM);
}

void CExtCmdIcon::OnSettingChange(CExtPaintManager* pPM, UINT, LPCTSTR)
{
    DropGeneratedStateImages();
    SyncStateImages(pPM);
}

void CExtCmdIcon::OnDisplayChange(CExtPaintManager* pPM, INT, CPoint)
{
    DropGeneratedStateImages();
    SyncStateImages(pPM);
}

void CExtCmdIcon::OnThemeChanged(CExtPaintManager* pPM, WPARAM, LPARAM)
{
    DropGeneratedStateImages();
    SyncStateImages(pPM);
}

bool CExtCmdIcon::Scale(const SIZE& size)
{
    if (IsEmpty() || size.cx < 1 || size.cy < 1)
        return false;
    CSize szNow = GetSize();
    if (szNow.cx == size.cx && szNow.cy == size.cy)
        return true;
    CExtBitmap::Filter filter(CExtBitmap::__FT_BOX);
    CExtBitmap* images[4] = {&m_bmpNormal, &m_bmpDisabled, &m_bmpHover, &m_bmpPressed};
    for (CExtBitmap* pBmp : images)
        if (!pBmp->IsEmpty() && !pBmp->Scale(size.cx, size.cy, filter))
            return false;
    OnContentChanged();
    return true;
}

bool CExtCmdIcon::AssignScaled(const CExtCmdIcon& other, const SIZE& size)
{
    if (other.IsEmpty() || size.cx < 1 || size.cy < 1)
        return false;
    if (this == &other)
        return Scale(size);
    Empty();
    AssignFrom(other);
    return Scale(size);
}

bool CExtCmdIcon::_CreateMarkIcon(CExtPaintManager* pPM, COLORREF clrMark, COLORREF clrTransparent, int cx, int cy,
                                  bool bRadio, bool bNoMark)
{
    if (cx <= 0 || cy <= 0)
        return false;
    Empty();
    if (bNoMark)
        clrTransparent = RGB(255, 0, 255);
    else
    {
        if (clrMark == COLORREF(-1L))
            clrMark = LookupColorOf(pPM, 1010);
        if (clrTransparent == COLORREF(-1L))
            clrTransparent = (clrMark == RGB(255, 0, 255)) ? RGB(128, 255, 128) : RGB(255, 0, 255);
    }
    void (*pfnDraw)(CExtPaintManager*, HDC, int, int, COLORREF) = NULL;
    if (!bNoMark)
    {
        if (s_pThemeHooks != NULL)
            pfnDraw = bRadio ? s_pThemeHooks->m_pfnDrawRadioDot : s_pThemeHooks->m_pfnDrawCheckMark;
        if (pfnDraw == NULL)
            return false;  // the marks are the theme engine's drawing
    }
    HDC hScreen = ::GetDC(NULL);
    HDC hMemDC = (hScreen != NULL) ? ::CreateCompatibleDC(hScreen) : NULL;
    if (hScreen != NULL)
        ::ReleaseDC(NULL, hScreen);
    if (hMemDC == NULL)
        return false;
    void* pBits = NULL;
    HBITMAP hSection = CreateDib32(hMemDC, cx, cy, &pBits, true);
    if (hSection == NULL)
    {
        ::DeleteDC(hMemDC);
        return false;
    }
    HGDIOBJ hOld = ::SelectObject(hMemDC, hSection);
    RECT rc = {0, 0, cx, cy};
    COLORREF clrOldBk = ::SetBkColor(hMemDC, clrTransparent);
    ::ExtTextOut(hMemDC, 0, 0, ETO_OPAQUE, &rc, NULL, 0, NULL);
    ::SetBkColor(hMemDC, clrOldBk);
    if (pfnDraw != NULL)
        pfnDraw(pPM, hMemDC, cx / 2 - 3, cy / 2 - 3, clrMark);
    ::SelectObject(hMemDC, hOld);
    ::DeleteDC(hMemDC);
    AssignFromHBITMAP(hSection, clrTransparent, NULL, false);
    if (IsEmpty())
    {
        ::DeleteObject(hSection);  // not taken over on failure
        return false;
    }
    return true;
}

bool CExtCmdIcon::CreateCheckMarkIcon(CExtPaintManager* pPM, COLORREF clrMark, COLORREF clrTransparent, int cx,
                                      int cy)
{
    return _CreateMarkIcon(pPM, clrMark, clrTransparent, cx, cy, false, false);
}

bool CExtCmdIcon::CreateRadioDotIcon(CExtPaintManager* pPM, COLORREF clrMark, COLORREF clrTransparent, int cx,
                                     int cy)
{
    return _CreateMarkIcon(pPM, clrMark, clrTransparent, cx, cy, true, false);
}

bool CExtCmdIcon::CreateEmptyIcon(CExtPaintManager* pPM, int cx, int cy)
{
    return _CreateMarkIcon(pPM, COLORREF(-1L), COLORREF(-1L), cx, cy, false, true);
}

HICON CExtCmdIcon::ExtractHICON(bool bReplaceSysColors, COLORREF clrTransparent)
{
    if (IsEmpty())
        return NULL;
    return m_bmpNormal.CreateHICON(bReplaceSysColors, clrTransparent);
}

CExtBitmap& CExtCmdIcon::GetBitmap(int eState, CExtPaintManager* pPM)
{
    CExtBitmap* pState = NULL;
    switch (eState)
    {
    case __PAINT_DISABLED:
        pState = &m_bmpDisabled;
        break;
    case __PAINT_HOVER:
        pState = &m_bmpHover;
        break;
    case __PAINT_PRESSED:
        pState = &m_bmpPressed;
        break;
    default:
        return m_bmpNormal;
    }
    if (pState->IsEmpty() && !m_bmpNormal.IsEmpty())
        SyncStateImages(pPM);
    if (!pState->IsEmpty())
        return *pState;
    return m_bmpNormal;
}

const CExtBitmap& CExtCmdIcon::GetBitmap(int eState, CExtPaintManager* pPM) const
{
    return const_cast<CExtCmdIcon*>(this)->GetBitmap(eState, pPM);
}

void CExtCmdIcon::Paint(CExtPaintManager* pPM, HDC hDC, int x, int y, int cx, int cy, int eState)
{
    if (!ResolvePaintExtent(*this, hDC, cx, cy))
        return;
    const CExtBitmap& bmp = static_cast<const CExtCmdIcon&>(*this).GetBitmap(eState, pPM);
    if (!bmp.IsEmpty())
        bmp.AlphaBlend(hDC, x, y, cx, cy, 0, 0, cx, cy, 0xFF);
}

void CExtCmdIcon::PaintRect(CExtPaintManager* pPM, HDC hDC, const RECT& rc, int eState)
{
    Paint(pPM, hDC, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, eState);
}

void CExtCmdIcon::PaintShadowed(CExtPaintManager*, HDC hDC, COLORREF clr, int x, int y, int cx, int cy)
{
    if (!ResolvePaintExtent(*this, hDC, cx, cy))
        return;
    COLORREF clrNearest = ::GetNearestColor(hDC, clr);
    CExtBitmap bmpFront(m_bmpNormal);
    DeepenIfPalette(bmpFront);
    bmpFront.AdjustHLS(COLORREF(-1L), 0, 0.0, -0.75, 0.0);
    bmpFront.AdjustHLS(COLORREF(-1L), 0, 0.0, 0.75, 0.0);
    bmpFront.MakeMono(clrNearest);
    CExtBitmap bmpBack(bmpFront);
    bmpBack.AdjustHLS(COLORREF(-1L), 0, 0.0, 0.75, 0.0);
    if (!bmpBack.IsEmpty())
        bmpBack.AlphaBlend(hDC, x + 1, y + 1, cx, cy, 0, 0, cx, cy, 0xFF);
    if (!bmpFront.IsEmpty())
        bmpFront.AlphaBlend(hDC, x, y, cx, cy, 0, 0, cx, cy, 0xFF);
}

void CExtCmdIcon::PaintMonoEffect(CExtPaintManager*, HDC hDC, COLORREF clr, int x, int y, int cx, int cy)
{
    if (!ResolvePaintExtent(*this, hDC, cx, cy))
        return;
    CExtBitmap bmp(m_bmpNormal);
    bmp.Make32();
    COLORREF clrTint = EffectColorOf(clr);
    bmp.AdjustHLS(COLORREF(-1L), 0, 0.0, -1.0, -1.0);
    bmp.MakeMono(clrTint);
    bmp.AdjustHLS(COLORREF(-1L), 0, 0.0, 0.5, 0.0);
    if (!bmp.IsEmpty())
        bmp.AlphaBlend(hDC, x, y, cx, cy, 0, 0, cx, cy, 0xFF);
}

void CExtCmdIcon::PaintTinted(CExtPaintManager*, HDC hDC, COLORREF clr, int x, int y, int cx, int cy)
{
    if (!ResolvePaintExtent(*this, hDC, cx, cy))
        return;
    CExtBitmap bmp(m_bmpNormal);
    bmp.Make32();
    bmp.MakeMono(EffectColorOf(clr));
    if (!bmp.IsEmpty())
        bmp.AlphaBlend(hDC, x, y, cx, cy, 0, 0, cx, cy, 0xFF);
}

bool CExtCmdIcon::ExportWithColorKey(HBITMAP& hBitmap, COLORREF& clrKey, CArray<COLORREF, COLORREF>* pColors,
                                     void** ppBits)
{
    if (IsEmpty())
        return false;
    return m_bmpNormal.ExportWithColorKey(hBitmap, clrKey, pColors, ppBits);
}
