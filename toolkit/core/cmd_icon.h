// CExtCmdIcon: the icon of a command or of any toolkit item that shows a picture. One
// main image and three state images (1 disabled, 2 hover, 3 pushed); only the
// disabled one is ever generated, in the look of the paint manager passed in.
//
// The theme engine links after this library, so the icon does not call the paint
// manager directly: the theme engine registers a small table of functions
// (CExtCmdIconThemeHooks) once, and the icon reaches the paint manager through it.
// Without the table, or without a paint manager, the icon uses the system-colour look.
#pragma once
#include "framework/framework.h"
#include "toolkit/core/bitmap.h"

class CExtPaintManager;

// What the command icon needs of a paint manager. Every entry may be NULL; the icon
// then behaves as for a paint manager that answers with the base theme's values.
struct CExtCmdIconThemeHooks
{
    // CExtPaintManager::ThemeId of the paint manager (29901 base, 29902 XP, ...).
    int (*m_pfnGetThemeId)(CExtPaintManager* pPM);
    // CExtPaintManager::LookupColor (a colour index or a logical colour id).
    COLORREF (*m_pfnLookupColor)(CExtPaintManager* pPM, int nColorIndex);
    // CExtPaintManager::GetLunaColorScheme (0: none).
    int (*m_pfnGetLunaColorScheme)(CExtPaintManager* pPM);
    // CExtPaintManager::GetDisabledIconColor (-1: none) and GetDisabledIconAlpha.
    COLORREF (*m_pfnGetDisabledIconColor)(CExtPaintManager* pPM);
    double (*m_pfnGetDisabledIconAlpha)(CExtPaintManager* pPM);
    // CExtPaintManager::DrawCheckMark and DrawRadioDot (DC, x, y, colour).
    void (*m_pfnDrawCheckMark)(CExtPaintManager* pPM, HDC hDC, int x, int y, COLORREF clr);
    void (*m_pfnDrawRadioDot)(CExtPaintManager* pPM, HDC hDC, int x, int y, COLORREF clr);
};

class CExtCmdIcon
{
public:
    // paint states
    enum e_paint_type_t
    {
        __PAINT_NORMAL = 0,
        __PAINT_DISABLED = 1,
        __PAINT_HOVER = 2,
        __PAINT_PRESSED = 3,
    };
    // m_dwFlags: the state image was set by the icon's owner
    enum
    {
        __EXT_ICON_PERSISTENT_BITMAP_DISABLED = 0x01,
        __EXT_ICON_PERSISTENT_BITMAP_HOVER = 0x02,
        __EXT_ICON_PERSISTENT_BITMAP_PRESSED = 0x04,
    };
    // the theme ids the disabled look tells apart
    enum
    {
        __THEME_ID_BASE = 29901,
        __THEME_ID_XP = 29902,
    };

    CExtCmdIcon();
    CExtCmdIcon(const CExtCmdIcon& other);
    CExtCmdIcon& operator=(const CExtCmdIcon& other);
    virtual ~CExtCmdIcon();

    virtual void AssignFrom(const CExtCmdIcon& other);
    virtual void AssignFromHICON(HICON hIcon, bool bCopyIcon);
    virtual void AssignFromHBITMAP(HBITMAP hBitmap, COLORREF clrTransparent = COLORREF(-1L),
                                   const RECT* pRect = NULL, bool bCopyBitmap = true);
    virtual bool IsEmpty() const;
    virtual void Empty();
    virtual void Serialize(CArchive& ar);
    virtual CSize GetSize() const;
    virtual void OnPaintManagerChanged();
    virtual void DropGeneratedStateImages();
    virtual void OnContentChanged();
    virtual void SyncStateImages(CExtPaintManager* pPM);
    virtual void OnSysColorChange(CExtPaintManager* pPM);
    virtual void OnSettingChange(CExtPaintManager* pPM, UINT uFlags, LPCTSTR lpszSection);
    virtual void OnDisplayChange(CExtPaintManager* pPM, INT nDepthBPP, CPoint ptSizes);
    virtual void OnThemeChanged(CExtPaintManager* pPM, WPARAM wParam, LPARAM lParam);
    virtual bool Scale(const SIZE& size);
    virtual bool AssignScaled(const CExtCmdIcon& other, const SIZE& size);
    virtual bool CreateCheckMarkIcon(CExtPaintManager* pPM, COLORREF clrMark = COLORREF(-1L),
                                     COLORREF clrTransparent = COLORREF(-1L), int cx = 16, int cy = 16);
    virtual bool CreateRadioDotIcon(CExtPaintManager* pPM, COLORREF clrMark = COLORREF(-1L),
                                    COLORREF clrTransparent = COLORREF(-1L), int cx = 16, int cy = 16);
    virtual bool CreateEmptyIcon(CExtPaintManager* pPM, int cx = 16, int cy = 16);
    virtual HICON ExtractHICON(bool bReplaceSysColors = true, COLORREF clrTransparent = COLORREF(-1L));
    virtual CExtBitmap& GetBitmap(int eState, CExtPaintManager* pPM);
    virtual void Paint(CExtPaintManager* pPM, HDC hDC, int x, int y, int cx, int cy, int eState = __PAINT_NORMAL);
    virtual void PaintShadowed(CExtPaintManager* pPM, HDC hDC, COLORREF clr, int x, int y, int cx, int cy);
    virtual void PaintMonoEffect(CExtPaintManager* pPM, HDC hDC, COLORREF clr, int x, int y, int cx, int cy);
    virtual void PaintTinted(CExtPaintManager* pPM, HDC hDC, COLORREF clr, int x, int y, int cx, int cy);
    virtual bool ExportWithColorKey(HBITMAP& hBitmap, COLORREF& clrKey, CArray<COLORREF, COLORREF>* pColors = NULL,
                                    void** ppBits = NULL);

    void PaintRect(CExtPaintManager* pPM, HDC hDC, const RECT& rc, int eState = __PAINT_NORMAL);
    // The image painted for a state (the main one, or a state image made on demand).
    const CExtBitmap& GetBitmap(int eState = __PAINT_NORMAL, CExtPaintManager* pPM = NULL) const;

    // The theme engine's table; NULL clears it. The table must outlive its use.
    static void stat_SetThemeHooks(const CExtCmdIconThemeHooks* pHooks);
    static const CExtCmdIconThemeHooks* stat_GetThemeHooks();

    CExtBitmap m_bmpNormal;
    CExtBitmap m_bmpDisabled;
    CExtBitmap m_bmpHover;
    CExtBitmap m_bmpPressed;
    DWORD m_dwFlags;

protected:
    bool _CreateMarkIcon(CExtPaintManager* pPM, COLORREF clrMark, COLORREF clrTransparent, int cx, int cy,
                         bool bRadio, bool bNoMark);
};
