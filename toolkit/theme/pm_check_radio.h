// The record a check box or radio button fills on its stack to be painted by
// CExtPaintManager::DrawCheckBox and DrawRadioButton.
#pragma once
#include "toolkit/theme/paint_manager.h"

struct CExtPaintManager::PAINTCHECKBOXDATA
{
    // 0-2 unchecked, checked, indeterminate at rest; 3-5 the same pressed; 6-8 hot;
    // 9-11 disabled.
    enum e_box_state_t
    {
        BOX_UNCHECKED = 0,
        BOX_CHECKED = 1,
        BOX_INDETERMINATE = 2,
        BOX_MOUSE_CLICKED_UNCHECKED = 3,
        BOX_MOUSE_CLICKED_CHECKED = 4,
        BOX_MOUSE_CLICKED_INDETERMINATE = 5,
        BOX_MOUSE_HOVER_UNCHECKED = 6,
        BOX_MOUSE_HOVER_CHECKED = 7,
        BOX_MOUSE_HOVER_INDETERMINATE = 8,
        BOX_DISABLED_UNCHECKED = 9,
        BOX_DISABLED_CHECKED = 10,
        BOX_DISABLED_INDETERMINATE = 11,
        BOX_STATE_COUNT = 12,
    };

    int m_eState;
    CObject* m_pHelperSrc;  // a CButton among askers lends its window and style
    LPARAM m_lParam;
    RECT m_rcClient;
    LPCTSTR m_sText;
    // Bits 0-1: 0 left, 1 centre, 2 right; bits 2-4: 4 top, 16 bottom, else centre.
    DWORD m_nAlignment;
    HFONT m_hFont;          // NULL: the paint manager's button font
    bool m_bLeftText : 1;   // the glyph at the right edge
    bool m_bMultiline : 1;
    bool m_bHover : 1;
    bool m_bPushed : 1;
    bool m_bEnabled : 1;
    bool m_bDrawFocusRect : 1;
    bool m_bExtraFlag : 1;  // the caller's; painting does not read it
    bool m_bReserved7 : 1;
    COLORREF m_clrForceTextDisabled;
    COLORREF m_clrForceTextNormal;
    COLORREF m_clrForceTextHover;
    COLORREF m_clrForceTextPressed;
    COLORREF m_clrForceBk;  // the caller's; painting does not read it
    RECT m_rcBox;           // where the glyph goes, filled by DrawCheckBox / DrawRadioButton

    PAINTCHECKBOXDATA(CObject* pHelperSrc, int eState, bool bLeftText, bool bMultiline,
                      const RECT& rcClient, LPCTSTR sText, bool bHover, bool bPushed,
                      bool bEnabled, bool bDrawFocusRect, DWORD nAlignment, HFONT hFont = NULL,
                      bool bExtraFlag = false);
};
