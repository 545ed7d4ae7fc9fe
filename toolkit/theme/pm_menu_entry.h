// The record a popup menu fills for each item it paints.
#pragma once
#include "toolkit/theme/paint_manager.h"

struct CExtPaintManager::PAINTMENUENTRYDATA
{
    CObject* m_pHelperSrc;  // the painting menu (or the paint manager itself)
    LPARAM m_lParam;
    RECT m_rcItem;          // the selectable area: text, accelerator, arrow, icon
    RECT m_rcBk;            // the whole row, left area included
    int m_nIconAreaWidth;   // the icon column at the leading edge
    LPCTSTR m_sText;        // with "&" prefixes; never null
    LPCTSTR m_sAccelText;   // never null
    CExtCmdIcon* m_pIcon;
    UINT m_nHelperSysCmdID;
    HFONT m_hFont;          // NULL: the paint manager's default font
    // First flag byte.
    bool m_bPopup : 1;
    bool m_bSelected : 1;
    bool m_bPushedCheck : 1;
    bool m_bPushedRadio : 1;
    bool m_bIndeterminate : 1;  // the caller's; not read by the painting
    bool m_bEnabled : 1;
    bool m_bRarelyUsed : 1;
    bool m_bRarelyUsedPrev : 1;
    // Second flag byte.
    bool m_bRarelyUsedNext : 1;
    bool m_bNoIconArea : 1;
    bool m_bGlyphArrow : 1;       // the arrow as a glyph instead of a Marlett character
    bool m_bArrowVariant : 1;     // with m_bGlyphArrow: the second glyph; else a split arrow
    bool m_bTwoCells : 1;         // the left area holds a check cell and the icon
    bool m_bCheckCell : 1;
    bool m_bReserved2_6 : 1;
    bool m_bReserved2_7 : 1;
    RECT m_rcInPlaceWnd;          // an embedded edit or combo field; empty for none
    CString m_sInPlaceText;
    bool m_bInPlaceHover : 1;
    bool m_bReserved3_1 : 1;
    bool m_bReserved3_2 : 1;
    bool m_bReserved3_3 : 1;
    bool m_bReserved3_4 : 1;
    bool m_bReserved3_5 : 1;
    bool m_bReserved3_6 : 1;
    bool m_bReserved3_7 : 1;
    COLORREF m_clrCustomIcon;     // -1: natural colours

    PAINTMENUENTRYDATA();
    PAINTMENUENTRYDATA(CObject* pHelperSrc, const RECT& rcItem, const RECT& rcBk,
                       int nIconAreaWidth, LPCTSTR sText, LPCTSTR sAccelText,
                       CExtCmdIcon* pIcon, bool bPopup, bool bSelected, bool bPushedCheck,
                       bool bPushedRadio, bool bIndeterminate, bool bEnabled, bool bRarelyUsed,
                       bool bRarelyUsedPrev, bool bRarelyUsedNext, UINT nHelperSysCmdID,
                       HFONT hFont);
};
