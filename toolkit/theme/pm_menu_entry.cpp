// Popup-menu items: the classic look of the base theme (selection in the highlight
// colour, embossed disabled text, checked items on the light pattern) and the flat look
// that XP, Office 2003 and Studio 2005 share (a left column behind icons and checks,
// a framed selection, disabled text in the shadow colour). The two later themes differ
// from XP in menus only through their colour maps.
#include "toolkit/theme/paint_manager.h"
#include "toolkit/theme/pm_bar_parts.h"
#include "toolkit/theme/pm_glyphs.h"
#include "toolkit/theme/pm_menu_entry.h"
#include "toolkit/theme/pm_neighbours.h"
#include "toolkit/core/cmd_icon.h"

#include <algorithm>

typedef CExtPmNeighbours NB;

CExtPaintManager::PAINTMENUENTRYDATA::PAINTMENUENTRYDATA()
    : m_pHelperSrc(NULL),
      m_lParam(0),
      m_nIconAreaWidth(0),
      m_sText(""),
      m_sAccelText(""),
      m_pIcon(NULL),
      m_nHelperSysCmdID(0),
      m_hFont(NULL),
      m_bPopup(false),
      m_bSelected(false),
      m_bPushedCheck(false),
      m_bPushedRadio(false),
      m_bIndeterminate(false),
      m_bEnabled(false),
      m_bRarelyUsed(false),
      m_bRarelyUsedPrev(false),
      m_bRarelyUsedNext(false),
      m_bNoIconArea(false),
      m_bGlyphArrow(false),
      m_bArrowVariant(false),
      m_bTwoCells(false),
      m_bCheckCell(false),
      m_bReserved2_6(false),
      m_bReserved2_7(false),
      m_bInPlaceHover(false),
      m_bReserved3_1(false),
      m_bReserved3_2(false),
      m_bReserved3_3(false),
      m_bReserved3_4(false),
      m_bReserved3_5(false),
      m_bReserved3_6(false),
      m_bReserved3_7(false),
      m_clrCustomIcon(COLORREF(-1))
{
    ::SetRectEmpty(&m_rcItem);
    ::SetRectEmpty(&m_rcBk);
    ::SetRectEmpty(&m_rcInPlaceWnd);
}

CExtPaintManager::PAINTMENUENTRYDATA::PAINTMENUENTRYDATA(
    CObject* pHelperSrc, const RECT& rcItem, const RECT& rcBk, int nIconAreaWidth,
    LPCTSTR sText, LPCTSTR sAccelText, CExtCmdIcon* pIcon, bool bPopup, bool bSelected,
    bool bPushedCheck, bool bPushedRadio, bool bIndeterminate, bool bEnabled, bool bRarelyUsed,
    bool bRarelyUsedPrev, bool bRarelyUsedNext, UINT nHelperSysCmdID, HFONT hFont)
    : PAINTMENUENTRYDATA()
{
    m_pHelperSrc = pHelperSrc;
    m_rcItem = rcItem;
    m_rcBk = rcBk;
    m_nIconAreaWidth = nIconAreaWidth;
    m_sText = (sText != NULL) ? sText : "";
    m_sAccelText = (sAccelText != NULL) ? sAccelText : "";
    m_pIcon = pIcon;
    m_bPopup = bPopup;
    m_bSelected = bSelected;
    m_bPushedCheck = bPushedCheck;
    m_bPushedRadio = bPushedRadio;
    m_bIndeterminate = bIndeterminate;
    m_bEnabled = bEnabled;
    m_bRarelyUsed = bRarelyUsed;
    m_bRarelyUsedPrev = bRarelyUsedPrev;
    m_bRarelyUsedNext = bRarelyUsedNext;
    m_nHelperSysCmdID = nHelperSysCmdID;
    m_hFont = hFont;
}

namespace {

// Moves the leading edge of a rectangle inward (the right edge in right-to-left menus).
void MoveLeadingEdge(RECT& rc, int n, bool bRTL)
{
    if (bRTL)
        rc.right -= n;
    else
        rc.left += n;
}

SIZE MeasureItemText(HDC hDC, LPCTSTR sText)
{
    RECT rc = {0, 0, 0, 0};
    ::DrawTextA(hDC, sText, -1, &rc, DT_CALCRECT | DT_SINGLELINE);
    SIZE sz = {rc.right - rc.left, rc.bottom - rc.top};
    return sz;
}

void CentreVertically(RECT& rc, int nTextHeight)
{
    ::OffsetRect(&rc, 0, ((rc.bottom - rc.top) - nTextHeight) / 2);
}

bool HasUsableIcon(const CExtPaintManager::PAINTMENUENTRYDATA& d)
{
    return d.m_pIcon != NULL && !d.m_pIcon->IsEmpty();
}

// The icon rectangle shared by both bodies, before its horizontal placement.
RECT IconRect(const CExtPaintManager::PAINTMENUENTRYDATA& d, bool bRTL, int& cx)
{
    int cy = 16;
    cx = 16;
    if (HasUsableIcon(d))
    {
        const CSize sz = d.m_pIcon->GetSize();
        cx = sz.cx;
        cy = sz.cy;
    }
    const int nHeight = (cx <= 18) ? std::max(cx, cy) : cy;
    const RECT& ri = d.m_rcItem;
    RECT rc;
    rc.top = ri.top + ((ri.bottom - ri.top) - nHeight) / 2;
    rc.bottom = rc.top + nHeight;
    if (bRTL)
    {
        rc.right = ri.right;
        rc.left = rc.right - cx;
    }
    else
    {
        rc.left = ri.left;
        rc.right = rc.left + cx;
    }
    return rc;
}

void ShiftInward(RECT& rc, int n, bool bRTL) { ::OffsetRect(&rc, bRTL ? -n : n, 0); }

RECT CheckCellRect(const RECT& ri, bool bRTL)
{
    const int nItemHeight = ri.bottom - ri.top;
    RECT rc;
    if (bRTL)
        ::SetRect(&rc, ri.right - nItemHeight - 1, ri.top + 1, ri.right - 1, ri.bottom - 1);
    else
        ::SetRect(&rc, ri.left + 1, ri.top + 1, ri.left + nItemHeight - 1, ri.bottom - 1);
    return rc;
}

// Draws an item's text like the classic menu: plain, or embossed when disabled under a
// right-to-left layout; left-to-right text goes through DrawState.
void DrawClassicText(HDC hDC, const RECT& rc, LPCTSTR sText, bool bEnabled, bool bRTL,
                     UINT nBaseFlags, COLORREF clrText, COLORREF clrHighlight,
                     COLORREF clrShadow)
{
    if (bRTL)
    {
        RECT r = rc;
        if (bEnabled)
        {
            ::SetTextColor(hDC, clrText);
            ::DrawTextA(hDC, sText, -1, &r, nBaseFlags | DT_SINGLELINE);
            return;
        }
        ::OffsetRect(&r, 1, 1);
        ::SetTextColor(hDC, clrHighlight);
        ::DrawTextA(hDC, sText, -1, &r, nBaseFlags | DT_SINGLELINE);
        r = rc;
        ::SetTextColor(hDC, clrShadow);
        ::DrawTextA(hDC, sText, -1, &r, nBaseFlags | DT_SINGLELINE);
        return;
    }
    ::SetTextColor(hDC, clrText);
    ::DrawStateA(hDC, NULL, NULL, (LPARAM)sText, (WPARAM)::lstrlenA(sText), rc.left, rc.top,
                 rc.right - rc.left, rc.bottom - rc.top,
                 DST_PREFIXTEXT | (bEnabled ? 0 : DSS_DISABLED));
}

// The item text at the leading edge of the text area, centred vertically.
RECT MenuEntryLabelRect(HDC hDC, const RECT& rcText, LPCTSTR sText, bool bRTL)
{
    const SIZE sz = MeasureItemText(hDC, sText);
    RECT rc = rcText;
    CentreVertically(rc, sz.cy);
    if (bRTL)
        rc.left = rc.right - sz.cx;
    return rc;
}

// The accelerator at the trailing edge of the text area, clear of the sub-menu arrow.
RECT MenuEntryAccelRect(HDC hDC, const RECT& rcText, LPCTSTR sAccelText, bool bRTL)
{
    const SIZE sz = MeasureItemText(hDC, sAccelText);
    RECT rc = rcText;
    CentreVertically(rc, sz.cy);
    if (bRTL)
    {
        rc.left = rcText.left + 16;
        rc.right = rc.left + sz.cx;
    }
    else
        rc.left = rc.right - sz.cx - 16;
    return rc;
}

// The text colour, transparent background and font of an item's texts, given back when
// the texts are drawn.
class MenuEntryTextState
{
public:
    MenuEntryTextState(HDC hDC, COLORREF clrText, HFONT hFont)
        : m_hDC(hDC), m_clrOldText(::SetTextColor(hDC, clrText)), m_nOldMode(::SetBkMode(hDC, TRANSPARENT)),
          m_hOldFont((hFont != NULL) ? ::SelectObject(hDC, hFont) : NULL)
    {
    }
    ~MenuEntryTextState()
    {
        if (m_hOldFont != NULL)
            ::SelectObject(m_hDC, m_hOldFont);
        ::SetBkMode(m_hDC, m_nOldMode);
        ::SetTextColor(m_hDC, m_clrOldText);
    }
    MenuEntryTextState(const MenuEntryTextState&) = delete;
    MenuEntryTextState& operator=(const MenuEntryTextState&) = delete;

private:
    HDC m_hDC;
    COLORREF m_clrOldText;
    int m_nOldMode;
    HGDIOBJ m_hOldFont;
};

// The icon rectangle placed in the icon column: centred in it, or in the second cell when
// the column holds a check cell too. nSingleCellShift moves the centred icon further.
RECT PlaceMenuEntryIcon(const CExtPaintManager::PAINTMENUENTRYDATA& d, bool bRTL, int nSingleCellShift)
{
    int cx = 16;
    RECT rcIcon = IconRect(d, bRTL, cx);
    const int nColumnWidth = d.m_nIconAreaWidth;
    if (d.m_bTwoCells)
    {
        const int nCellWidth = nColumnWidth / 2;
        ShiftInward(rcIcon, (nCellWidth - cx) / 2 + nCellWidth - 2, bRTL);
    }
    else
        ShiftInward(rcIcon, (nColumnWidth - cx) / 2 + nSingleCellShift, bRTL);
    return rcIcon;
}

// The check mark or radio dot of a checked item without an icon, centred in the icon
// rectangle.
void DrawCheckOrRadioMark(CDC& dc, const CExtPaintManager::PAINTMENUENTRYDATA& d, const RECT& rcIcon, COLORREF clrMark)
{
    const int x = rcIcon.left + (rcIcon.right - rcIcon.left) / 2 - 3;
    const int y = rcIcon.top + (rcIcon.bottom - rcIcon.top) / 2 - 3;
    if (d.m_bPushedCheck)
        CExtPaintManager::DrawCheckMark(dc, x, y, clrMark);
    else
        CExtPaintManager::DrawRadioDot(dc, x, y, clrMark);
}

// The check mark centred in the check cell of a two-cell icon column.
void DrawCheckCellMark(CDC& dc, const RECT& rcCell, COLORREF clrMark)
{
    CExtPaintManager::DrawCheckMark(dc, rcCell.left + (rcCell.right - rcCell.left) / 2 - 3,
                                    rcCell.top + (rcCell.bottom - rcCell.top) / 2 - 3, clrMark);
}

}  // namespace

// The parts both bodies share after the text: the sub-menu arrow, the icon and check
// marks, and the embedded field. The differences are passed in.
void CExtPaintManager::DrawMenuEntryArrow(CDC& dc, PAINTMENUENTRYDATA& d, bool bRTL,
                                          COLORREF clrText, COLORREF clrGlyph, bool bXpLook,
                                          bool bSelectionByHook)
{
    CObject* pSrc = d.m_pHelperSrc;
    const LPARAM lParam = d.m_lParam;
    RECT rcArrow = d.m_rcItem;
    ::InflateRect(&rcArrow, -3, -3);
    if (bRTL)
        rcArrow.right = rcArrow.left + 16;
    else
        rcArrow.left = rcArrow.right - 16;
    if (d.m_bGlyphArrow)
    {
        const COLORREF arrColors[2] = {0, clrGlyph};
        DrawGlyph(dc, rcArrow, d.m_bArrowVariant ? g_glyphMenuRightArrowLine : g_glyphMenuRightArrow,
                  arrColors);
        return;
    }
    COLORREF clrArrow = clrText;
    if (d.m_bArrowVariant)
    {
        // The split arrow has a column of its own.
        const int nInner = bRTL ? rcArrow.right : rcArrow.left;
        if (d.m_bSelected)
        {
            RECT rcColumn = d.m_rcItem;
            if (!bXpLook)
            {
                clrArrow = LookupColor(COLOR_BTNTEXT, pSrc, lParam);
                if (bRTL)
                    rcColumn.right = nInner;
                else
                    rcColumn.left = nInner;
                if (d.m_bRarelyUsed)
                    dc.FillRect(&rcColumn, &m_brushAux[0]);
                else
                    dc.FillSolidRect(&rcColumn, LookupColor(CLR_3DFACE_OUT, pSrc, lParam));
            }
            else
            {
                clrArrow = LookupColor(COLOR_HIGHLIGHTTEXT, pSrc, lParam);
                if (bRTL)
                {
                    rcColumn.left += 1;
                    rcColumn.right = nInner + 1;
                }
                else
                {
                    rcColumn.left = nInner - 1;
                    rcColumn.right -= 1;
                }
                rcColumn.top += 1;
                rcColumn.bottom -= 1;
                if (!bSelectionByHook)
                    dc.FillSolidRect(&rcColumn, LookupColor(XPCLR_HILIGHT, pSrc, lParam));
                const int xLine = bRTL ? nInner : nInner - 1;
                dc.FillSolidRect(xLine, d.m_rcItem.top, 1, d.m_rcItem.bottom - d.m_rcItem.top,
                                 LookupColor(XPCLR_HILIGHT_BORDER, pSrc, lParam));
            }
        }
        else
        {
            const RECT rcSep = {nInner - 1, d.m_rcItem.top, nInner + 1, d.m_rcItem.bottom};
            DrawSeparator(dc, rcSep, true, true, pSrc, lParam);
        }
    }
    MoveLeadingEdge(rcArrow, 2, bRTL);
    HDC hDC = dc.GetSafeHdc();
    const COLORREF clrOld = ::SetTextColor(hDC, clrArrow);
    const int nOldMode = ::SetBkMode(hDC, TRANSPARENT);
    HGDIOBJ hOldFont = (m_FontMarlett.GetSafeHandle() != NULL)
                           ? ::SelectObject(hDC, m_FontMarlett.GetSafeHandle())
                           : NULL;
    ::DrawTextA(hDC, bRTL ? "3" : "4", 1, &rcArrow, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    if (hOldFont != NULL)
        ::SelectObject(hDC, hOldFont);
    ::SetBkMode(hDC, nOldMode);
    ::SetTextColor(hDC, clrOld);
}

void CExtPaintManager::DrawMenuEntryFieldText(CDC& dc, PAINTMENUENTRYDATA& d, const RECT& rcField,
                                              int nTopInset, bool bRTL)
{
    if (d.m_sInPlaceText.IsEmpty())
        return;
    RECT rc = rcField;
    rc.left += 5;
    rc.top += nTopInset;
    rc.right -= 2;
    rc.bottom -= 2;
    HDC hDC = dc.GetSafeHdc();
    const COLORREF clrOld =
        ::SetTextColor(hDC, ::GetSysColor(d.m_bEnabled ? COLOR_BTNTEXT : COLOR_BTNSHADOW));
    const int nOldMode = ::SetBkMode(hDC, TRANSPARENT);
    HFONT hFont = (d.m_hFont != NULL) ? d.m_hFont : (HFONT)m_FontNormal.GetSafeHandle();
    HGDIOBJ hOldFont = (hFont != NULL) ? ::SelectObject(hDC, hFont) : NULL;
    const UINT nBase = bRTL ? (DT_RIGHT | DT_RTLREADING) : 0;
    ::DrawTextA(hDC, d.m_sInPlaceText, d.m_sInPlaceText.GetLength(), &rc,
                nBase | DT_NOPREFIX | DT_SINGLELINE);
    if (hOldFont != NULL)
        ::SelectObject(hDC, hOldFont);
    ::SetBkMode(hDC, nOldMode);
    ::SetTextColor(hDC, clrOld);
}

// ---- the classic body -------------------------------------------------------------------------

void CExtPaintManager::DrawMenuEntry(CDC& dc, PAINTMENUENTRYDATA& d)
{
    if (::IsRectEmpty(&d.m_rcItem))
        return;
    const bool bRTL = NB::IsMenuRTL(d.m_pHelperSrc);
    const RECT rcContent = PaintClassicMenuEntryBackground(dc, d, bRTL);
    DrawClassicMenuEntryTexts(dc, d, rcContent, bRTL);
    DrawClassicMenuEntryIcon(dc, d, bRTL);
    if (!::IsRectEmpty(&d.m_rcInPlaceWnd))
        DrawClassicMenuEntryField(dc, d, bRTL);
}

// The row on the face colour (a rarely used row on the light pattern between its edge
// lines) and the item in the selection colour; answers the area of the texts.
RECT CExtPaintManager::PaintClassicMenuEntryBackground(CDC& dc, PAINTMENUENTRYDATA& d, bool bRTL)
{
    CObject* pSrc = d.m_pHelperSrc;
    const LPARAM lParam = d.m_lParam;
    dc.FillSolidRect(&d.m_rcBk, LookupColor(CLR_3DFACE_OUT, pSrc, lParam));
    if (d.m_bRarelyUsed)
    {
        dc.FillRect(&d.m_rcBk, &m_brushAux[0]);
        const int nWidth = d.m_rcBk.right - d.m_rcBk.left;
        if (!d.m_bRarelyUsedPrev)
            dc.FillSolidRect(d.m_rcBk.left, d.m_rcBk.top, nWidth, 1, LookupColor(COLOR_BTNSHADOW, pSrc, lParam));
        if (!d.m_bRarelyUsedNext)
            dc.FillSolidRect(d.m_rcBk.left, d.m_rcBk.bottom - 1, nWidth, 1,
                             LookupColor(COLOR_BTNHIGHLIGHT, pSrc, lParam));
    }
    // With an icon or a check mark the selection leaves the icon column to the frame
    // drawn around it.
    const bool bIconArea = HasUsableIcon(d) || d.m_bPushedCheck || d.m_bPushedRadio;
    RECT rc = d.m_rcItem;
    if (bIconArea)
    {
        MoveLeadingEdge(rc, d.m_nIconAreaWidth, bRTL);
        rc.left += 1;
    }
    if (d.m_bSelected || !d.m_bRarelyUsed)
        dc.FillSolidRect(&rc, LookupColor(d.m_bSelected ? COLOR_HIGHLIGHT : CLR_3DFACE_OUT, pSrc, lParam));
    if (!bIconArea)
        MoveLeadingEdge(rc, d.m_nIconAreaWidth, bRTL);
    return rc;
}

// The text and accelerator, embossed when disabled, and the sub-menu arrow.
void CExtPaintManager::DrawClassicMenuEntryTexts(CDC& dc, PAINTMENUENTRYDATA& d, const RECT& rcContent, bool bRTL)
{
    CObject* pSrc = d.m_pHelperSrc;
    const LPARAM lParam = d.m_lParam;
    const UINT nBaseFlags = bRTL ? (DT_RIGHT | DT_RTLREADING) : 0;
    HDC hDC = dc.GetSafeHdc();
    const COLORREF clrText = LookupColor(d.m_bSelected ? COLOR_HIGHLIGHTTEXT : CLR_TEXT_OUT, pSrc, lParam);
    RECT rcText = rcContent;
    ::InflateRect(&rcText, -6, -3);
    const MenuEntryTextState textState(hDC, clrText,
                                       (d.m_hFont != NULL) ? d.m_hFont : (HFONT)m_FontNormal.GetSafeHandle());
    const COLORREF clrHighlight = LookupColor(COLOR_BTNHIGHLIGHT, pSrc, lParam);
    const COLORREF clrShadow = LookupColor(COLOR_BTNSHADOW, pSrc, lParam);
    DrawClassicText(hDC, MenuEntryLabelRect(hDC, rcText, d.m_sText, bRTL), d.m_sText, d.m_bEnabled, bRTL, nBaseFlags,
                    clrText, clrHighlight, clrShadow);
    if (*d.m_sAccelText != '\0')
        DrawClassicText(hDC, MenuEntryAccelRect(hDC, rcText, d.m_sAccelText, bRTL), d.m_sAccelText, d.m_bEnabled, bRTL,
                        nBaseFlags, clrText, clrHighlight, clrShadow);
    if (d.m_bPopup)
        DrawMenuEntryArrow(dc, d, bRTL, clrText, clrText, false, false);
}

// The icon (framed raised when selected) or the system command's glyph; a checked item
// shows its mark on the light pattern in a sunken frame.
void CExtPaintManager::DrawClassicMenuEntryIcon(CDC& dc, PAINTMENUENTRYDATA& d, bool bRTL)
{
    CObject* pSrc = d.m_pHelperSrc;
    const LPARAM lParam = d.m_lParam;
    const bool bUsableIcon = HasUsableIcon(d);
    const bool bChecked = d.m_bPushedCheck || d.m_bPushedRadio;
    const COLORREF clrMark = LookupColor(CLR_TEXT_OUT, pSrc, lParam);
    const COLORREF clrSunkenTL = LookupColor(CLR_3DSHADOW_OUT, pSrc, lParam);
    const COLORREF clrSunkenBR = LookupColor(CLR_3DHILIGHT_OUT, pSrc, lParam);
    if (d.m_bTwoCells && d.m_bCheckCell)
    {
        const RECT rcCell = CheckCellRect(d.m_rcItem, bRTL);
        dc.FillRect(&rcCell, &m_brushAux[0]);
        DrawCheckCellMark(dc, rcCell, clrMark);
        dc.Draw3dRect(&rcCell, clrSunkenTL, clrSunkenBR);
    }
    const RECT rcIcon = PlaceMenuEntryIcon(d, bRTL, 0);
    RECT rcFrame = rcIcon;
    ::InflateRect(&rcFrame, 2, 2);
    if (bChecked)
        dc.FillRect(&rcFrame, &m_brushAux[0]);
    if (bUsableIcon)
    {
        d.m_pIcon->Paint(this, dc.GetSafeHdc(), rcIcon.left, rcIcon.top, -1, -1,
                         d.m_bEnabled ? CExtCmdIcon::__PAINT_NORMAL : CExtCmdIcon::__PAINT_DISABLED);
        if (d.m_bSelected && d.m_bEnabled && !bChecked)
            dc.Draw3dRect(&rcFrame, clrSunkenBR, clrSunkenTL);
    }
    else
        DrawSysCommandGlyph(dc, d.m_nHelperSysCmdID, rcIcon, d.m_bSelected, false, d.m_bEnabled);
    if (bChecked)
    {
        if (!bUsableIcon)
            DrawCheckOrRadioMark(dc, d, rcIcon, clrMark);
        dc.Draw3dRect(&rcFrame, clrSunkenTL, clrSunkenBR);
    }
}

// The embedded field: a combo box (with its drop button) or an edit, sunken in the row.
void CExtPaintManager::DrawClassicMenuEntryField(CDC& dc, PAINTMENUENTRYDATA& d, bool bRTL)
{
    CObject* pSrc = d.m_pHelperSrc;
    const LPARAM lParam = d.m_lParam;
    RECT rcField = d.m_rcInPlaceWnd;
    rcField.left -= 2;
    rcField.top -= 2;
    rcField.right += 2;
    rcField.bottom += 3;
    const COLORREF clrWindow = LookupColor(COLOR_WINDOW, pSrc, lParam);
    if (d.m_bPopup)
    {
        const int nButtonWidth = GetComboDropDownButtonWidth();
        rcField.right += nButtonWidth;
        dc.FillSolidRect(&rcField, LookupColor(d.m_bEnabled ? COLOR_WINDOW : COLOR_BTNFACE, pSrc, lParam));
        if (d.m_bEnabled)
        {
            PAINTCOMBOBOXDATA _pcbd(pSrc, rcField, d.m_bSelected, d.m_bSelected && d.m_bInPlaceHover, d.m_bEnabled);
            _pcbd.m_bNoOuterFrame = true;
            DrawComboBoxFrame(dc, _pcbd);
        }
        else
        {
            RECT rcInner = rcField;
            ::InflateRect(&rcInner, -2, -2);
            dc.Draw3dRect(&rcInner, clrWindow, clrWindow);
            RECT rcButton = rcField;
            rcButton.left = rcButton.right - nButtonWidth;
            const COLORREF arrColors[2] = {0, LookupColor(COLOR_BTNTEXT, pSrc, lParam)};
            DrawGlyph(dc, rcButton, g_glyphDropArrowDown, arrColors);
        }
        ::InflateRect(&rcField, -1, -1);
        rcField.right -= nButtonWidth;
    }
    else if (d.m_bEnabled)
    {
        const COLORREF clrFace = LookupColor(COLOR_BTNFACE, pSrc, lParam);
        dc.Draw3dRect(&rcField, clrFace, clrFace);
        ::InflateRect(&rcField, -1, -1);
        if (d.m_bSelected)
            dc.Draw3dRect(&rcField, LookupColor(COLOR_BTNSHADOW, pSrc, lParam),
                          LookupColor(COLOR_BTNHIGHLIGHT, pSrc, lParam));
        else
            dc.Draw3dRect(&rcField, clrFace, clrFace);
    }
    else
    {
        RECT rcInner = rcField;
        ::InflateRect(&rcInner, -2, -2);
        dc.Draw3dRect(&rcInner, clrWindow, clrWindow);
    }
    DrawMenuEntryFieldText(dc, d, rcField, 2, bRTL);
}

// ---- the flat body -----------------------------------------------------------------------------

void CExtPaintManagerXP::PaintMenuAreaHook(CDC&, PAINTMENUENTRYDATA&, RECT&, RECT&) {}

bool CExtPaintManagerXP::PaintMenuSelectionHook(CDC&, PAINTMENUENTRYDATA&, RECT&)
{
    return false;
}

bool CExtPaintManagerXP::PaintMenuCheckHook(CDC&, PAINTMENUENTRYDATA&, RECT&, bool)
{
    return false;
}

void CExtPaintManagerXP::FillMenuLeftArea(CDC& dc, const RECT& rcArea, bool bRarelyUsed,
                                          bool bNoGradient, CObject* pSrc, LPARAM lParam)
{
    const int n1 = bRarelyUsed ? m_nIdxClrMlaRarelyLeft : m_nIdxClrMlaNormLeft;
    const int n2 = bRarelyUsed ? m_nIdxClrMlaRarelyMiddle : m_nIdxClrMlaNormMiddle;
    const int n3 = bRarelyUsed ? m_nIdxClrMlaRarelyRight : m_nIdxClrMlaNormRight;
    if (!bNoGradient && GetScreenBitsPerPixel() > 8 && n1 >= 0 && n2 >= 0 && n3 >= 0)
        GradientFillTwoPart(dc, rcArea, LookupColor(n1, pSrc, lParam),
                            LookupColor(n2, pSrc, lParam), LookupColor(n3, pSrc, lParam), false,
                            1, 2, 256);
    else
        dc.FillSolidRect(&rcArea, LookupColor(bRarelyUsed ? XPCLR_RARELY_BORDER : CLR_3DFACE_OUT,
                                              pSrc, lParam));
}

void CExtPaintManagerXP::FillMenuCheckArea(CDC& dc, const RECT& rc, bool bSelected,
                                           COLORREF clrCheckFill, CObject* pSrc, LPARAM lParam)
{
    // A checked item looks like a pressed toolbar button, a selected one like a hovered
    // pressed button: the gradient pairs of the second colour group.
    const int nFirst = bSelected ? m_nIdxClrBtnHovPresLeft : m_nIdxClrBtnPressedLeft;
    const int nSecond = bSelected ? m_nIdxClrBtnHovPresRight : m_nIdxClrBtnPressedRight;
    if (nFirst >= 0 && nSecond >= 0)
        GradientFillRect(dc, rc, LookupColor(nSecond, pSrc, lParam),
                         LookupColor(nFirst, pSrc, lParam), true, 256);
    else
        dc.FillSolidRect(&rc, clrCheckFill);
}

void CExtPaintManagerXP::DrawMenuEntry(CDC& dc, PAINTMENUENTRYDATA& d)
{
    if (::IsRectEmpty(&d.m_rcItem))
        return;
    const bool bRTL = NB::IsMenuRTL(d.m_pHelperSrc);
    const RECT rcRest = PaintXpMenuEntryBackground(dc, d, bRTL);
    const bool bSelectionByHook = d.m_bSelected && PaintXpMenuEntrySelection(dc, d);
    DrawXpMenuEntryTexts(dc, d, rcRest, bRTL, bSelectionByHook);
    DrawXpMenuEntryIcon(dc, d, bRTL);
    if (!::IsRectEmpty(&d.m_rcInPlaceWnd))
        DrawXpMenuEntryField(dc, d, bRTL);
}

// The left area (icon column) and the rest of the row; answers the rest.
RECT CExtPaintManagerXP::PaintXpMenuEntryBackground(CDC& dc, PAINTMENUENTRYDATA& d, bool bRTL)
{
    RECT rcLeft = d.m_rcBk;
    RECT rcRest = d.m_rcBk;
    if (d.m_bNoIconArea)
        ::SetRectEmpty(&rcLeft);
    else if (bRTL)
    {
        rcLeft.left = rcLeft.right - d.m_nIconAreaWidth;
        rcRest.right = rcLeft.left;
    }
    else
    {
        rcLeft.right = rcLeft.left + d.m_nIconAreaWidth;
        rcRest.left = rcLeft.right;
    }
    if (!d.m_bNoIconArea)
        FillMenuLeftArea(dc, rcLeft, d.m_bRarelyUsed, false, d.m_pHelperSrc, d.m_lParam);
    dc.FillSolidRect(&rcRest, LookupColor(XPCLR_3DFACE_NORMAL, d.m_pHelperSrc, d.m_lParam));
    PaintMenuAreaHook(dc, d, rcLeft, rcRest);
    return rcRest;
}

// The framed selection; true when the hook painted it instead.
bool CExtPaintManagerXP::PaintXpMenuEntrySelection(CDC& dc, PAINTMENUENTRYDATA& d)
{
    RECT rcSel = d.m_rcItem;
    if (PaintMenuSelectionHook(dc, d, rcSel))
        return true;
    const COLORREF clrBorder = LookupColor(XPCLR_HILIGHT_BORDER, d.m_pHelperSrc, d.m_lParam);
    dc.FillSolidRect(&d.m_rcItem, LookupColor(CLR_3DFACE_IN, d.m_pHelperSrc, d.m_lParam));
    dc.Draw3dRect(&d.m_rcItem, clrBorder, clrBorder);
    return false;
}

// The text and accelerator, disabled ones in the shadow colour, and the sub-menu arrow.
void CExtPaintManagerXP::DrawXpMenuEntryTexts(CDC& dc, PAINTMENUENTRYDATA& d, const RECT& rcRest, bool bRTL,
                                              bool bSelectionByHook)
{
    CObject* pSrc = d.m_pHelperSrc;
    const LPARAM lParam = d.m_lParam;
    const UINT nBaseFlags = bRTL ? (DT_RIGHT | DT_RTLREADING) : 0;
    HDC hDC = dc.GetSafeHdc();
    const COLORREF clrText = d.m_bEnabled ? LookupColor(CLR_TEXT_OUT, pSrc, lParam) : ::GetSysColor(COLOR_BTNSHADOW);
    RECT rcText = rcRest;
    ::InflateRect(&rcText, -3, -1);
    MoveLeadingEdge(rcText, 5, bRTL);
    const MenuEntryTextState textState(hDC, clrText,
                                       (d.m_hFont != NULL) ? d.m_hFont : (HFONT)m_FontNormal.GetSafeHandle());
    RECT rcLabel = MenuEntryLabelRect(hDC, rcText, d.m_sText, bRTL);
    ::DrawTextA(hDC, d.m_sText, -1, &rcLabel, nBaseFlags | DT_SINGLELINE);
    if (*d.m_sAccelText != '\0')
    {
        RECT rcAccel = MenuEntryAccelRect(hDC, rcText, d.m_sAccelText, bRTL);
        ::DrawTextA(hDC, d.m_sAccelText, -1, &rcAccel, nBaseFlags | DT_SINGLELINE);
    }
    if (d.m_bPopup)
        DrawMenuEntryArrow(dc, d, bRTL, clrText, LookupColor(CLR_TEXT_OUT, pSrc, lParam), true, bSelectionByHook);
}

// The icon or the system command's glyph; a checked item shows its mark on the pressed
// button colours in a frame of the selection border.
void CExtPaintManagerXP::DrawXpMenuEntryIcon(CDC& dc, PAINTMENUENTRYDATA& d, bool bRTL)
{
    CObject* pSrc = d.m_pHelperSrc;
    const LPARAM lParam = d.m_lParam;
    const bool bUsableIcon = HasUsableIcon(d);
    const bool bChecked = d.m_bPushedCheck || d.m_bPushedRadio;
    const COLORREF clrMark = LookupColor(CLR_TEXT_OUT, pSrc, lParam);
    const COLORREF clrBorder = LookupColor(XPCLR_HILIGHT_BORDER, pSrc, lParam);
    const COLORREF clrCheckFill = LookupColor(d.m_bSelected ? XPCLR_HILIGHT : CLR_3DFACE_IN, pSrc, lParam);
    if (d.m_bTwoCells && d.m_bCheckCell)
    {
        RECT rcCell = CheckCellRect(d.m_rcItem, bRTL);
        if (!PaintMenuCheckHook(dc, d, rcCell, false))
            FillMenuCheckArea(dc, rcCell, d.m_bSelected, clrCheckFill, pSrc, lParam);
        DrawCheckCellMark(dc, rcCell, clrMark);
        dc.Draw3dRect(&rcCell, clrBorder, clrBorder);
    }
    RECT rcIcon = PlaceMenuEntryIcon(d, bRTL, -1);
    RECT rcFrame = rcIcon;
    ::InflateRect(&rcFrame, 2, 2);
    if (bChecked && !PaintMenuCheckHook(dc, d, rcFrame, true))
        FillMenuCheckArea(dc, rcFrame, d.m_bSelected, clrCheckFill, pSrc, lParam);
    if (bUsableIcon)
    {
        RECT rcCaption = rcIcon;
        PaintIcon(&dc, true, CString(), d.m_pIcon, rcIcon, rcCaption, bChecked, d.m_bEnabled, d.m_bSelected, 0, false,
                  d.m_clrCustomIcon);
    }
    else
        DrawSysCommandGlyph(dc, d.m_nHelperSysCmdID, rcIcon, d.m_bSelected, false, d.m_bEnabled);
    if (bChecked)
    {
        if (!bUsableIcon)
            DrawCheckOrRadioMark(dc, d, rcIcon, clrMark);
        dc.Draw3dRect(&rcFrame, clrBorder, clrBorder);
    }
}

// The embedded field: a flat combo box or edit in the text-field border colour, framed in
// the selection border while selected.
void CExtPaintManagerXP::DrawXpMenuEntryField(CDC& dc, PAINTMENUENTRYDATA& d, bool bRTL)
{
    CObject* pSrc = d.m_pHelperSrc;
    const LPARAM lParam = d.m_lParam;
    RECT rcField = d.m_rcInPlaceWnd;
    ::InflateRect(&rcField, 1, 2);
    const COLORREF clrFieldBorder =
        LookupColor(d.m_bEnabled ? XPCLR_TEXT_FIELD_BORDER_NORMAL : XPCLR_TEXT_FIELD_BORDER_DISABLED, pSrc, lParam);
    if (d.m_bPopup)
    {
        const int nButtonWidth = GetComboDropDownButtonWidth();
        rcField.right += nButtonWidth;
        dc.FillSolidRect(&rcField, ::GetSysColor(d.m_bEnabled ? COLOR_WINDOW : COLOR_BTNFACE));
        PAINTCOMBOBOXDATA _pcbd(pSrc, rcField, d.m_bSelected, d.m_bInPlaceHover, d.m_bEnabled);
        DrawComboBoxFrame(dc, _pcbd);
        if (!d.m_bSelected)
            dc.Draw3dRect(&rcField, clrFieldBorder, clrFieldBorder);
        rcField.right -= nButtonWidth;
    }
    else
    {
        dc.FillSolidRect(&rcField, ::GetSysColor(d.m_bEnabled ? COLOR_WINDOW : COLOR_BTNFACE));
        const COLORREF clrFrame = d.m_bSelected ? LookupColor(XPCLR_HILIGHT_BORDER, pSrc, lParam) : clrFieldBorder;
        dc.Draw3dRect(&rcField, clrFrame, clrFrame);
    }
    DrawMenuEntryFieldText(dc, d, rcField, 3, bRTL);
}
