// A cell painting itself into the grid: background, the parts in their fixed order, the
// text, the colours and fonts it asks the grid and its owner for, and the expanded
// content popup's picture. Glyphs come from the paint manager; themed buttons and check
// boxes from the visual-styles wrapper, with a flat look when no theme answers.
#include <algorithm>
#include "toolkit/grid/grid_cell.h"
#include "toolkit/grid/grid_wnd.h"
#include "toolkit/grid/grid_data_provider.h"
#include "toolkit/core/cmd_icon.h"
#include "toolkit/theme/paint_manager.h"
#include "toolkit/theme/pm_glyphs.h"
#include "toolkit/menus/popup_shadow.h"

namespace {

bool IsOuterPosition(INT nColType, INT nRowType) { return nColType != 0 || nRowType != 0; }

// Visual-styles parts of the cell buttons.
struct THEMED_BUTTON
{
    LPCWSTR sClass;
    int nPart;
};
const THEMED_BUTTON g_themedButtons[4] = {
    {L"BUTTON", 1},    // ellipsis: a push button with the ellipsis on it
    {L"COMBOBOX", 1},  // drop-down button
    {L"SPIN", 1},      // up
    {L"SPIN", 2},      // down
};

const CExtPaintManager::glyph& ButtonGlyph(INT nButtonType)
{
    switch (nButtonType) {
    case CExtGridCell::__EBTT_ELLIPSIS: return g_glyphGridEllipsis;
    case CExtGridCell::__EBTT_UPDOWN_UP: return g_glyphDropArrowUp;
    default: return g_glyphDropArrowDown;
    }
}

bool PaintThemedButton(HWND hWnd, CDC& dc, const RECT& rc, INT nButtonType, bool bPressed, bool bEnabled)
{
    UxThemeLibrary& ux = g_CurrentPaintManager.m_UxTheme;
    if (!ux.IsUsable(true)) return false;
    const THEMED_BUTTON& tb = g_themedButtons[nButtonType];
    if (ux.OpenThemeData(hWnd, tb.sClass) == NULL) return false;
    const int nState = !bEnabled ? 4 : (bPressed ? 3 : 1);
    const HRESULT hr = ux.DrawThemeBackground(dc.GetSafeHdc(), tb.nPart, nState, &rc, &rc);
    ux.CloseThemeData(true);
    if (FAILED(hr)) return false;
    if (nButtonType == CExtGridCell::__EBTT_ELLIPSIS) {
        const COLORREF clr = ::GetSysColor(bEnabled ? COLOR_BTNTEXT : COLOR_GRAYTEXT);
        const COLORREF colors[2] = {0, clr};
        g_CurrentPaintManager->DrawGlyph(dc, rc, g_glyphGridEllipsis, colors);
    }
    return true;
}

void PaintFlatButton(CDC& dc, const RECT& rcIn, INT nButtonType, bool bPressed, bool bEnabled)
{
    CRect rc(rcIn);
    dc.FillSolidRect(&rc, ::GetSysColor(COLOR_BTNFACE));
    if (bPressed)
        dc.Draw3dRect(&rc, ::GetSysColor(COLOR_BTNSHADOW), ::GetSysColor(COLOR_3DHIGHLIGHT));
    else
        dc.Draw3dRect(&rc, ::GetSysColor(COLOR_3DHIGHLIGHT), ::GetSysColor(COLOR_3DDKSHADOW));
    CRect rcGlyph(rc);
    if (bPressed) rcGlyph.OffsetRect(1, 1);
    const CExtPaintManager::glyph& aGlyph = ButtonGlyph(nButtonType);
    if (bEnabled) {
        const COLORREF colors[2] = {0, ::GetSysColor(COLOR_BTNTEXT)};
        g_CurrentPaintManager->DrawGlyph(dc, rcGlyph, aGlyph, colors);
        return;
    }
    // Embossed: the highlight one pixel right and down, then the shadow in place.
    const COLORREF colorsHi[2] = {0, ::GetSysColor(COLOR_3DHIGHLIGHT)};
    CRect rcHi(rcGlyph);
    rcHi.OffsetRect(1, 1);
    g_CurrentPaintManager->DrawGlyph(dc, rcHi, aGlyph, colorsHi);
    const COLORREF colorsLo[2] = {0, ::GetSysColor(COLOR_BTNSHADOW)};
    g_CurrentPaintManager->DrawGlyph(dc, rcGlyph, aGlyph, colorsLo);
}

}  // namespace

HFONT CExtGridCell::GetFont() const
{
    if (m_pOwner == NULL || m_nImageIndex < 0 || m_nImageIndex >= m_pOwner->FontCountGet()) return NULL;
    return m_pOwner->FontGet(m_nImageIndex);
}

HFONT CExtGridCell::OnQueryCellFont(const CWnd* pWndGrid, LONG nColNo, LONG nRowNo, INT nColType, INT nRowType,
                                    bool* pbDelete) const
{
    bool bDelete = false;
    HFONT hFont = GetFont();
    if (hFont == NULL && pWndGrid != NULL && pWndGrid->IsKindOf(RUNTIME_CLASS(CExtGridWnd))) {
        CExtGridWnd* pGrid = const_cast<CExtGridWnd*>(static_cast<const CExtGridWnd*>(pWndGrid));
        hFont = pGrid->OnGridCellQueryFont(*this, nColNo, nRowNo, nColType, nRowType, &bDelete);
        if (hFont == NULL) bDelete = false;
    }
    if (pbDelete != NULL) *pbDelete = bDelete;
    return hFont;
}

CSize CExtGridCell::GetCheckGlyphSize(CExtGridWnd& wndGrid, CDC& dc) const
{
    return stat_GetCheckGlyphSize(wndGrid.GetSafeHwnd(), dc.GetSafeHdc(), GetStyle(), GetStyleEx());
}

bool CExtGridCell::OnPaintBackground(EXT_GRID_CELL_PAINT_ARGS) const
{
    if (::IsRectEmpty(&rcCell)) return true;
    if (wndGrid.OnGridHookCellPaintBackground(*this, EXT_GRID_CELL_PAINT_PASS_NO_GRID)) return true;
    if ((dwAreaFlags & HIT_TEST_INFO_T::AREA_INNER) == 0) return false;
    dc.FillSolidRect(&rcCell, wndGrid.GetColor(COLOR_BTNFACE));
    dc.Draw3dRect(&rcCell, wndGrid.GetColor(COLOR_3DHIGHLIGHT), wndGrid.GetColor(COLOR_BTNSHADOW));
    return true;
}

void CExtGridCell::OnPaint(EXT_GRID_CELL_PAINT_ARGS) const
{
    if (::IsRectEmpty(&rcCell) || !dc.RectVisible(&rcCell)) return;
    if (wndGrid.OnGridHookCellPaintForeground(*this, EXT_GRID_CELL_PAINT_PASS_NO_GRID)) return;
    CELL_LAYOUT lay;
    CalcPartsLayout(lay, EXT_GRID_CELL_PAINT_PASS);
    if (!lay.m_rcFocusArrow.IsRectEmpty() && lay.m_nFocusGlyph >= 2 && lay.m_nFocusGlyph <= 5) {
        COLORREF clr = OnQueryTextColor(EXT_GRID_CELL_PAINT_PASS);
        if (clr == COLORREF(-1)) clr = dc.GetTextColor();
        const COLORREF colors[2] = {0, clr};
        g_CurrentPaintManager->DrawGlyph(dc, lay.m_rcFocusArrow, *g_GridFocusArrowGlyphs[lay.m_nFocusGlyph], colors);
    }
    if (!lay.m_rcIcon.IsRectEmpty()) {
        // Kinds that draw a swatch or a preview in the icon box have no icon object: the
        // box alone asks for the icon's painting.
        CExtCmdIcon* pIcon = const_cast<CExtGridCell*>(this)->IconGet();
        OnPaintIcon(pIcon, lay.m_rcIcon, EXT_GRID_CELL_PAINT_PASS);
    }
    if (!lay.m_rcCheck.IsRectEmpty()) OnPaintCheckRadio(lay.m_rcCheck, EXT_GRID_CELL_PAINT_PASS);
    const struct
    {
        const CRect* pRect;
        INT nType;
    } buttons[] = {{&lay.m_rcEllipsis, __EBTT_ELLIPSIS},
                   {&lay.m_rcDropDown, __EBTT_DROPDOWN},
                   {&lay.m_rcUp, __EBTT_UPDOWN_UP},
                   {&lay.m_rcDown, __EBTT_UPDOWN_DOWN}};
    for (const auto& b : buttons) {
        if (b.pRect->IsRectEmpty()) continue;
        bool bEnabled = false;
        OnQueryButtonInfo(b.nType, &bEnabled);
        const bool bPressed = (GetStyle() & stat_ButtonPressedStyle(b.nType)) != 0;
        OnPaintButton(*b.pRect, b.nType, bPressed, bEnabled, EXT_GRID_CELL_PAINT_PASS);
    }
    if (!lay.m_rcSortArrow.IsRectEmpty() &&
        (lay.m_rcIcon.IsRectEmpty() || lay.m_rcSortArrow.left >= lay.m_rcIcon.left))
        OnPaintSortArrow(lay.m_rcSortArrow, EXT_GRID_CELL_PAINT_PASS);
    if (!lay.m_rcText.IsRectEmpty() && (GetStyleEx() & __EGCS_EX_UNDEFINED_ROLE) == 0)
        OnPaintText(lay.m_rcText, EXT_GRID_CELL_PAINT_PASS);
}

void CExtGridCell::OnFormatHeaderNumber(CString& strText, EXT_GRID_CELL_PAINT_ARGS) const
{
    (void)wndGrid, (void)dc, (void)nVisibleColNo, (void)nVisibleRowNo, (void)nRowType, (void)rcCellExtra,
        (void)rcCell, (void)rcVisibleRange, (void)dwAreaFlags, (void)dwHelperPaintFlags;
    strText.Format(_T("%ld"), (long)((nColType != 0 ? nRowNo : nColNo) + 1));
}

void CExtGridCell::OnPaintText(const RECT& rcCellText, EXT_GRID_CELL_PAINT_ARGS) const
{
    if (!dc.RectVisible(&rcCellText)) return;
    bool bDeleteFont = false;
    HFONT hFont = OnQueryCellFont(&wndGrid, nColNo, nRowNo, nColType, nRowType, &bDeleteFont);
    HGDIOBJ hOldFont = hFont != NULL ? ::SelectObject(dc.GetSafeHdc(), hFont) : NULL;
    const COLORREF clrOld = dc.GetTextColor();
    bool bHookPainted = false;
    if (!::IsRectEmpty(&rcCellText))
        bHookPainted = wndGrid.OnGridHookCellPaintText(false, *this, dc, nVisibleColNo, nVisibleRowNo, nColNo, nRowNo,
                                                       nColType, nRowType, rcCellExtra, rcCell, rcCellText,
                                                       dwAreaFlags, dwHelperPaintFlags);
    if (!bHookPainted) {
        const UINT nFlags = OnQueryDrawTextFlags(true, true, true);
        CString sText;
        if ((GetStyle() & 0x80) != 0 && IsOuterPosition(nColType, nRowType))
            OnFormatHeaderNumber(sText, EXT_GRID_CELL_PAINT_PASS);
        else if (GetTextBuffer() != NULL && *GetTextBuffer() != _T('\0'))
            sText = GetTextBuffer();
        else
            TextGet(sText);
        if (!sText.IsEmpty()) {
            const COLORREF clr = OnQueryTextColor(EXT_GRID_CELL_PAINT_PASS);
            if (clr != COLORREF(-1)) dc.SetTextColor(clr);
            CRect rc(rcCellText);
            ::DrawText(dc.GetSafeHdc(), sText, sText.GetLength(), &rc, nFlags);
        }
        wndGrid.OnGridHookCellPaintText(true, *this, dc, nVisibleColNo, nVisibleRowNo, nColNo, nRowNo, nColType,
                                        nRowType, rcCellExtra, rcCell, rcCellText, dwAreaFlags, dwHelperPaintFlags);
    }
    dc.SetTextColor(clrOld);
    if (hOldFont != NULL) ::SelectObject(dc.GetSafeHdc(), hOldFont);
    if (bDeleteFont && hFont != NULL) ::DeleteObject(hFont);
}

void CExtGridCell::OnPaintSortArrow(const RECT& rcSortArrow, EXT_GRID_CELL_PAINT_ARGS) const
{
    (void)nVisibleColNo, (void)nVisibleRowNo, (void)nColNo, (void)nRowNo, (void)rcCellExtra, (void)rcCell,
        (void)rcVisibleRange, (void)dwAreaFlags;
    if (!dc.RectVisible(&rcSortArrow) || !IsOuterPosition(nColType, nRowType)) return;
    // Only outer cells carry the arrow, so the paint flag that marks inner cells needs no
    // test here; the grid uses the same bit for a dragged header's image, which keeps it.
    if ((GetStyle() & __EGCS_SORT_ARROW) == 0) return;
    if ((GetStyleEx() & __EGCS_EX_NO_SORT_ARROW_ON_PAINT) != 0 && (dwHelperPaintFlags & 0x100) != 0) return;
    const bool bDescending = (GetStyle() & __EGCS_SORT_DESCENDING) != 0;
    // A column header (inner column) points up or down, a row header left or right.
    const CExtPaintManager::glyph& aGlyph =
        nColType == 0 ? (bDescending ? g_glyphGridSortArrowDown : g_glyphGridSortArrowUp)
                      : (bDescending ? g_glyphGridSortArrowRight : g_glyphGridSortArrowLeft);
    const COLORREF colors[4] = {0, wndGrid.GetColor(COLOR_BTNSHADOW), wndGrid.GetColor(COLOR_3DHIGHLIGHT),
                                wndGrid.GetColor(COLOR_3DDKSHADOW)};
    g_CurrentPaintManager->DrawGlyph(dc, rcSortArrow, aGlyph, colors);
}

void CExtGridCell::OnPaintButton(const RECT& rcButton, INT nButtonType, bool bPressed, bool bEnabled,
                                 EXT_GRID_CELL_PAINT_ARGS) const
{
    (void)nVisibleColNo, (void)nVisibleRowNo, (void)nColNo, (void)nRowNo, (void)nColType, (void)nRowType,
        (void)rcCellExtra, (void)rcCell, (void)rcVisibleRange, (void)dwAreaFlags, (void)dwHelperPaintFlags;
    if (nButtonType < 0 || nButtonType > 3 || ::IsRectEmpty(&rcButton) || !dc.RectVisible(&rcButton)) return;
    if (PaintThemedButton(wndGrid.GetSafeHwnd(), dc, rcButton, nButtonType, bPressed, bEnabled)) return;
    PaintFlatButton(dc, rcButton, nButtonType, bPressed, bEnabled);
}

void CExtGridCell::OnPaintIcon(CExtCmdIcon* pIcon, const RECT& rcIcon, EXT_GRID_CELL_PAINT_ARGS) const
{
    (void)nVisibleColNo, (void)nVisibleRowNo, (void)nColNo, (void)nRowNo, (void)nColType, (void)nRowType,
        (void)rcCellExtra, (void)rcCell, (void)rcVisibleRange, (void)dwAreaFlags, (void)dwHelperPaintFlags;
    if (pIcon == NULL || pIcon->IsEmpty() || !dc.RectVisible(&rcIcon)) return;
    const CSize sz = pIcon->GetSize();
    pIcon->Paint(wndGrid.GetPaintManager(), dc.GetSafeHdc(), rcIcon.left, rcIcon.top + (rcIcon.bottom - rcIcon.top - sz.cy) / 2,
                 sz.cx, sz.cy);
}

void CExtGridCell::OnPaintCheckRadio(const RECT& rcCheck, EXT_GRID_CELL_PAINT_ARGS) const
{
    (void)nVisibleColNo, (void)nVisibleRowNo, (void)nColNo, (void)nRowNo, (void)nColType, (void)nRowType,
        (void)rcCellExtra, (void)rcCell, (void)rcVisibleRange, (void)dwAreaFlags, (void)dwHelperPaintFlags;
    stat_PaintCheckRadio(wndGrid.GetSafeHwnd(), dc.GetSafeHdc(), rcCheck, GetStyle(), GetStyleEx());
}

// Colours: the grid's hook, then the colour layer by state (0 wins, else 3 hovered, 2
// selected, 1 the rest); text alone falls back to the highlight text of a selection.
namespace {

COLORREF StateColor(const CExtGridCell& cell, bool bText, INT nState)
{
    return bText ? cell.TextColorGet(nState) : cell.BackColorGet(nState);
}

}  // namespace

COLORREF CExtGridCell::OnQueryTextColor(EXT_GRID_CELL_PAINT_ARGS) const
{
    (void)rcCellExtra, (void)rcCell, (void)rcVisibleRange;
    COLORREF clr = wndGrid.OnGridHookCellColor(true, *this, dc, nVisibleColNo, nVisibleRowNo, nColNo, nRowNo,
                                               nColType, nRowType, dwAreaFlags, dwHelperPaintFlags);
    if (clr != COLORREF(-1)) return clr;
    // Only inner cells are selected; an outer cell shows the state of its row or column.
    const bool bOuter = (dwAreaFlags & HIT_TEST_INFO_T::AREA_OUTER) != 0;
    const bool bSelected = !bOuter && wndGrid.IsSelected(nColNo, nRowNo);
    clr = StateColor(*this, true, __ECS_ALL);
    if (clr == COLORREF(-1)) {
        const INT nState = (dwHelperPaintFlags & 3) == 3 ? __ECS_HOVERED : (bSelected ? __ECS_SELECTED : __ECS_NORMAL);
        clr = StateColor(*this, true, nState);
    }
    if (clr != COLORREF(-1)) return clr;
    if ((dwHelperPaintFlags & CExtGridBaseWnd::PAINT_FOCUSED_WINDOW) == 0) return COLORREF(-1);
    bool bHighlight;
    if (dwHelperPaintFlags & (CExtGridBaseWnd::PAINT_PRESSED_H | CExtGridBaseWnd::PAINT_PRESSED_V))
        bHighlight = true;
    else if (!bOuter)
        bHighlight = bSelected;
    else
        bHighlight = (dwHelperPaintFlags & 0x3F) != 0;
    return bHighlight ? wndGrid.GetColor(COLOR_HIGHLIGHTTEXT) : COLORREF(-1);
}

COLORREF CExtGridCell::OnQueryBackColor(EXT_GRID_CELL_PAINT_ARGS) const
{
    (void)rcCellExtra, (void)rcCell, (void)rcVisibleRange;
    COLORREF clr = wndGrid.OnGridHookCellColor(false, *this, dc, nVisibleColNo, nVisibleRowNo, nColNo, nRowNo,
                                               nColType, nRowType, dwAreaFlags, dwHelperPaintFlags);
    if (clr != COLORREF(-1)) return clr;
    clr = StateColor(*this, false, __ECS_ALL);
    if (clr != COLORREF(-1)) return clr;
    const bool bSelected = (dwAreaFlags & HIT_TEST_INFO_T::AREA_OUTER) == 0 && wndGrid.IsSelected(nColNo, nRowNo);
    const INT nState = (dwHelperPaintFlags & 3) == 3 ? __ECS_HOVERED : (bSelected ? __ECS_SELECTED : __ECS_NORMAL);
    return StateColor(*this, false, nState);
}

bool CExtGridCell::OnPaintExpandedContent(CExtContentExpandWnd::ITEM_PAINT_INFO& ipi, CExtGridWnd& wndGrid,
                                          const HIT_TEST_INFO_T& hti, CExtContentExpandWnd& wndContentExpand,
                                          INT nSizeOfExpandShadow) const
{
    (void)wndContentExpand;
    CDC& dc = ipi.m_dc;
    CRect rc(ipi.m_rcItem);
    rc.right -= nSizeOfExpandShadow;
    rc.bottom -= nSizeOfExpandShadow;
    if (rc.IsRectEmpty()) return false;
    if (nSizeOfExpandShadow > 0) {
        CExtPopupShadow shadow;
        shadow.Paint(wndGrid.GetPaintManager(), dc, rc, CRect(0, 0, 0, 0), CRect(0, 0, 0, 0), nSizeOfExpandShadow, 75,
                     100, true, true);
    }
    dc.FillSolidRect(&rc, wndGrid.GetColor(COLOR_INFOBK));
    const COLORREF clrFrame = wndGrid.GetColor(COLOR_3DDKSHADOW);
    dc.Draw3dRect(&rc, clrFrame, clrFrame);
    CRect rcText(rc);
    rcText.DeflateRect(2, 2);
    const int nOldMode = dc.SetBkMode(TRANSPARENT);
    CFont* pFont = wndGrid.GetPaintFont();
    CFont* pOldFont = pFont != NULL ? dc.SelectObject(pFont) : NULL;
    const INT nColType = hti.GetColumnType(), nRowType = hti.GetRowType();
    OnPaintText(rcText, wndGrid, dc, hti.m_nVisibleColNo, hti.m_nVisibleRowNo, hti.m_nColNo, hti.m_nRowNo, nColType,
                nRowType, hti.m_rcExtra, hti.m_rcItem, rc, hti.m_dwAreaFlags, 0);
    if (pOldFont != NULL) dc.SelectObject(pOldFont);
    dc.SetBkMode(nOldMode);
    return true;
}
