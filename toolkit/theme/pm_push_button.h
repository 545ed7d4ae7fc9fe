// The record a push-button-like surface fills on its stack to be painted by
// CExtPaintManager::DrawPushButton: push and split buttons, colour buttons, buttons in
// menus, window-command buttons of the menu bar, slider thumbs, date-picker buttons and
// the drop-down part of combo boxes.
#pragma once
#include "toolkit/theme/paint_manager.h"

struct CExtPaintManager::PAINTBUTTONDATA
{
    CObject* m_pHelperSrc;
    LPARAM m_lParam;
    RECT m_rcClient;
    LPCTSTR m_sText;
    CExtCmdIcon* m_pIcon;
    DWORD m_nIconAlignment;   // placement bits handed to PaintIcon
    HFONT m_hFont;            // NULL: the paint manager's button font
    UINT m_nHelperSysCmdID;   // SC_CLOSE ... drawn as a glyph when there is no icon

    // first flag byte
    bool m_bHorz : 1;
    bool m_bFlat : 1;
    bool m_bHover : 1;
    bool m_bPushed : 1;
    bool m_bReserved4 : 1;
    bool m_bIndeterminate : 1;  // the caller's; painting does not read it
    bool m_bEnabled : 1;
    bool m_bDrawBorder : 1;     // a flat button shows its frame while hovered or pushed
    // second flag byte
    bool m_bDrawFocusRect : 1;
    bool m_bDefaultPushButton : 1;
    bool m_bDropDown : 1;
    bool m_bTransparentBackground : 1;
    bool m_bSeparatedDropDown : 1;  // split button: the drop-down part is its own button
    bool m_bPushedDropDown : 1;     // the drop-down part's menu is open
    bool m_bReserved14 : 1;
    bool m_bWordBreak : 1;          // multi-line text

    COLORREF m_clrForceTextDisabled;
    COLORREF m_clrForceTextNormal;
    COLORREF m_clrForceTextHover;
    COLORREF m_clrForceTextPressed;
    COLORREF m_clrCustomIcon;   // handed to PaintIcon unchanged
    COLORREF m_clrForceBk;      // -1: the theme's face
    DWORD m_nTextPlacement;     // 1: centre horizontally, 4: centre vertically

    // extra flag byte
    bool m_bOnePassText : 1;    // no embossed disabled text
    bool m_bForceRtlLayout : 1;
    bool m_bForceRtlText : 1;

    PAINTBUTTONDATA();
    PAINTBUTTONDATA(CObject* pHelperSrc, bool bHorz, const RECT& rcClient, LPCTSTR sText,
                    CExtCmdIcon* pIcon, bool bFlat, bool bHover, bool bPushed,
                    bool bIndeterminate, bool bEnabled, bool bDrawBorder, bool bDrawFocusRect,
                    bool bDefaultPushButton, DWORD nIconAlignment, HFONT hFont = NULL,
                    bool bDropDown = false, UINT nHelperSysCmdID = 0,
                    bool bTransparentBackground = false);

    bool IsRTL() const;

    // The right-to-left answers of askers from libraries linked after the theme engine:
    // the popup menu window (its own layout) and the toolbar button (its bar's window).
    // Each library installs its function; until then a popup menu answers by its window's
    // WS_EX_LAYOUTRTL and a bar button by the resource manager alone.
    typedef bool (*pfnQueryRTL)(const CObject* pHelperSrc);
    static pfnQueryRTL g_pfnPopupMenuRTL;
    static pfnQueryRTL g_pfnBarButtonRTL;
};
