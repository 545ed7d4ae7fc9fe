// Where a cell's parts lie: the layout of focus arrow, buttons, check box, icon, sort
// arrow and text inside the cell rectangle, the part under a point, and the measuring
// of a cell's content. The layout itself is a pure function of its input record, so the
// grid's facts (grid lines, focus, button widths) are gathered in one place first.
#include <algorithm>
#include "toolkit/grid/grid_cell.h"
#include "toolkit/grid/grid_wnd.h"
#include "toolkit/core/cmd_icon.h"

namespace {

// The one probe string, built once: a text is never measured lower than it.
const TCHAR g_szHeightProbe[] = _T("AaBbCcDdEeFfGgHhIiJjKkLlMmNnOoPpQqRrSsTtUuVvWwXxYyZz0123456789;[]{}\\/=+-_*&^%$#@!~");

bool IsOuterPosition(INT nColType, INT nRowType) { return nColType != 0 || nRowType != 0; }

// A part of width w cut off the right end of rc; the rest never goes past the left side.
void CutRight(CRect& rc, INT w, CRect& rcPart)
{
    rcPart = rc;
    rc.right = std::max(rc.right - w, rc.left);
    rcPart.left = rc.right;
}

// The check-and-icon block, its parts, and what it leaves of the content.
void LayoutCheckAndIcon(const CExtGridCell::LAYOUT_INPUT& in, CRect& rc, CExtGridCell::CELL_LAYOUT& out)
{
    const INT wCheck = std::max<LONG>(in.m_szCheck.cx, 0);
    const INT wIcon = std::max<LONG>(in.m_szIcon.cx, 0);
    rc.left += 2;
    INT w = wCheck + wIcon + ((wCheck > 0 && wIcon > 0) ? 2 : (wIcon > 0 ? 3 : 0));
    const INT h = std::max(std::max<LONG>(in.m_szCheck.cy, 0), std::max<LONG>(in.m_szIcon.cy, 0));
    w = std::max(0, std::min<INT>(w, rc.right - 2 - rc.left));
    CRect blk(rc.left, rc.top, rc.left + w, rc.top + h);
    switch (in.m_dwStyle & CExtGridCell::__EGCS_ICA_VERT_MASK) {
    case CExtGridCell::__EGCS_ICA_VERT_TOP: break;
    case CExtGridCell::__EGCS_ICA_VERT_BOTTOM: blk.OffsetRect(0, rc.Height() - h); break;
    default: blk.OffsetRect(0, (rc.Height() - h) / 2); break;
    }
    switch (in.m_dwStyle & 0x300) {
    case 0x200:
        blk.OffsetRect(rc.right - 2 - blk.right, 0);
        rc.right = blk.left;
        break;
    case 0x300:
        if (!in.m_bHasText) {
            blk.OffsetRect((rc.Width() - w) / 2, 0);
            break;
        }
        rc.left = blk.right;
        break;
    default: rc.left = blk.right; break;
    }
    // Each part keeps its own height, centred in the block.
    auto place = [&blk](CRect& r, LONG left, LONG right, LONG cy) {
        r.SetRect(left, blk.top + (blk.Height() - cy) / 2, std::min(right, blk.right), 0);
        r.bottom = r.top + cy;
        if (r.right < r.left) r.right = r.left;
    };
    LONG x = blk.left;
    if (wCheck > 0) {
        place(out.m_rcCheck, x, x + wCheck, in.m_szCheck.cy);
        x += wCheck + 2;
    }
    if (wIcon > 0) place(out.m_rcIcon, x, blk.right, in.m_szIcon.cy);
}

}  // namespace

CExtGridCell::CELL_LAYOUT::CELL_LAYOUT() : m_nFocusGlyph(-1)
{
    CRect* rects[] = {&m_rcRest, &m_rcText, &m_rcFocusArrow, &m_rcIcon, &m_rcCheck,
                      &m_rcSortArrow, &m_rcUp, &m_rcDown, &m_rcDropDown, &m_rcEllipsis};
    for (CRect* p : rects) p->SetRectEmpty();
}

CExtGridCell::LAYOUT_INPUT::LAYOUT_INPUT()
    : m_rcCell(0, 0, 0, 0),
      m_dwStyle(0),
      m_dwStyleEx(0),
      m_nColType(0),
      m_nRowType(0),
      m_bGridLinesH(false),
      m_bGridLinesV(false),
      m_bFocusInBand(false),
      m_bHasText(false),
      m_szFocusArrow(0, 0),
      m_szIcon(0, 0),
      m_szCheck(0, 0),
      m_szSortArrow(0, 0),
      m_nWidthUpDown(0),
      m_nWidthDropDown(0),
      m_nWidthEllipsis(0),
      m_rcIconMargins(1, 1, 1, 1),
      m_rcTextMargins(2, 0, 2, 0)
{
}

LPCTSTR CExtGridCell::stat_GetHeightProbeString() { return g_szHeightProbe; }

void CExtGridCell::stat_CalcLayout(const LAYOUT_INPUT& in, CELL_LAYOUT& out)
{
    out = CELL_LAYOUT();
    CRect rc = in.m_rcCell;
    if (in.m_bGridLinesV) rc.right--;
    if (in.m_bGridLinesH) rc.bottom--;
    if (rc.IsRectEmpty()) return;

    // Focus arrow: only an outer cell of exactly one band.
    const DWORD dwFocusBits = __EGCS_HDR_FOCUS_ARROW_DISPLAY | __EGCS_HDR_FOCUS_ARROW_RESERVE_SPACE;
    const bool bOneBand = (in.m_nColType != 0) != (in.m_nRowType != 0);
    if (bOneBand && (in.m_dwStyle & dwFocusBits) != 0 && in.m_szFocusArrow.cx > 0) {
        const bool bFocusShown = (in.m_dwStyle & __EGCS_HDR_FOCUS_ARROW_RESERVE_SPACE) != 0 && in.m_bFocusInBand;
        if ((in.m_dwStyle & __EGCS_HDR_FOCUS_ARROW_DISPLAY) != 0 || bFocusShown) {
            const INT w = std::min<INT>(in.m_szFocusArrow.cx, rc.Width());
            out.m_rcFocusArrow = rc;
            if (in.m_nColType < 0) {
                out.m_rcFocusArrow.left = rc.right - w;
                rc.right -= w;
            } else {
                out.m_rcFocusArrow.right = rc.left + w;
                rc.left += w;
            }
            if (bFocusShown)
                out.m_nFocusGlyph = in.m_nColType < 0 ? 5 : in.m_nColType > 0 ? 4 : in.m_nRowType < 0 ? 3 : 2;
        }
        if (rc.IsRectEmpty()) return;
    }

    // Buttons from the right end: ellipsis, drop-down, the up-down pair.
    if (in.m_nWidthEllipsis > 0) CutRight(rc, in.m_nWidthEllipsis, out.m_rcEllipsis);
    if (in.m_nWidthDropDown > 0) CutRight(rc, in.m_nWidthDropDown, out.m_rcDropDown);
    if (in.m_nWidthUpDown > 0) {
        CRect rcPair;
        CutRight(rc, in.m_nWidthUpDown, rcPair);
        out.m_rcUp = out.m_rcDown = rcPair;
        out.m_rcUp.bottom = out.m_rcDown.top = rcPair.top + rcPair.Height() / 2;
    }
    if (rc.IsRectEmpty() || rc.Width() <= 2) return;

    if (in.m_szCheck.cx > 0 || in.m_szIcon.cx > 0) {
        LayoutCheckAndIcon(in, rc, out);
        if (rc.IsRectEmpty()) return;
    }

    if (in.m_szSortArrow.cx > 0 && in.m_szSortArrow.cy > 0) {
        CRect& r = out.m_rcSortArrow;
        r.SetRect(std::max(rc.left, rc.right - in.m_szSortArrow.cx), 0, rc.right, 0);
        r.top = rc.top + (rc.Height() - in.m_szSortArrow.cy) / 2;
        r.bottom = r.top + in.m_szSortArrow.cy;
        rc.right = r.left;
        if (rc.IsRectEmpty()) return;
    }

    if (rc.Width() > 4 && rc.Height() > 2) {
        const CRect& f = in.m_rcIconMargins;
        out.m_rcRest.SetRect(rc.left + f.left, rc.top + f.top, rc.right - f.right, rc.bottom - f.bottom);
        const CRect& m = in.m_rcTextMargins;
        out.m_rcText.SetRect(out.m_rcRest.left + m.left, out.m_rcRest.top + m.top, out.m_rcRest.right - m.right,
                             out.m_rcRest.bottom - m.bottom);
    }
}

DWORD CExtGridCell::stat_HitTestParts(const CELL_LAYOUT& lay, POINT pt, INT& nButtonType, RECT& rcPart)
{
    struct PART
    {
        const CRect* pRect;
        DWORD dwFlag;
        INT nButton;
    };
    const PART parts[] = {
        {&lay.m_rcEllipsis, __EGCPF_BUTTON, __EBTT_ELLIPSIS},  {&lay.m_rcDropDown, __EGCPF_BUTTON, __EBTT_DROPDOWN},
        {&lay.m_rcUp, __EGCPF_BUTTON, __EBTT_UPDOWN_UP},       {&lay.m_rcDown, __EGCPF_BUTTON, __EBTT_UPDOWN_DOWN},
        {&lay.m_rcSortArrow, __EGCPF_SORT_ARROW, -1},          {&lay.m_rcCheck, __EGCPF_CHECK, -1},
        {&lay.m_rcIcon, __EGCPF_ICON, -1},                     {&lay.m_rcFocusArrow, __EGCPF_FOCUS_ARROW, -1},
        {&lay.m_rcText, __EGCPF_TEXT, -1},                     {&lay.m_rcRest, __EGCPF_REST, -1},
    };
    nButtonType = -1;
    ::SetRectEmpty(&rcPart);
    for (const PART& p : parts) {
        if (p.pRect->IsRectEmpty() || !p.pRect->PtInRect(pt)) continue;
        nButtonType = p.nButton;
        rcPart = *p.pRect;
        return p.dwFlag;
    }
    return 0;
}

INT CExtGridCell::GetButtonWidth(INT nButtonType, EXT_GRID_CELL_PAINT_ARGS) const
{
    (void)dc, (void)nVisibleColNo, (void)nVisibleRowNo, (void)rcCellExtra, (void)rcCell, (void)rcVisibleRange,
        (void)dwAreaFlags;
    const DWORD dwBehavior = wndGrid.GetBehaviorStyle();
    if ((dwBehavior & 0x1FF80) == 0) return 0;
    const DWORD dwButton = stat_ButtonStyle(nButtonType);
    if (dwButton == 0 || (GetStyle() & dwButton) == 0) return 0;
    const INT nWidth = ::GetSystemMetrics(SM_CXVSCROLL);
    if (dwBehavior & CExtGridWnd::__EGBS_BUTTONS_PERSISTENT) return nWidth;
    const POINT ptFocus = wndGrid.FocusGet();
    const bool bInner = nColType == 0 && nRowType == 0;
    struct RULE
    {
        DWORD dwBit;
        bool bHolds;
    };
    const RULE rules[] = {
        {CExtGridWnd::__EGBS_BUTTONS_FOCUSED_CELL, bInner && ptFocus.x == nColNo && ptFocus.y == nRowNo},
        {CExtGridWnd::__EGBS_BUTTONS_FOCUSED_ROW, nRowType == 0 && ptFocus.y == nRowNo},
        {CExtGridWnd::__EGBS_BUTTONS_FOCUSED_COLUMN, nColType == 0 && ptFocus.x == nColNo},
        {CExtGridWnd::__EGBS_BUTTONS_HOVER_CELL, (dwHelperPaintFlags & 3) == 3},
        {CExtGridWnd::__EGBS_BUTTONS_HOVER_COLUMN, (dwHelperPaintFlags & 1) != 0},
        {CExtGridWnd::__EGBS_BUTTONS_HOVER_ROW, (dwHelperPaintFlags & 2) != 0},
        {CExtGridWnd::__EGBS_BUTTONS_SELECTED_COLUMNS, (dwHelperPaintFlags & 4) != 0},
        {CExtGridWnd::__EGBS_BUTTONS_SELECTED_ROWS, (dwHelperPaintFlags & 8) != 0},
    };
    for (const RULE& r : rules)
        if ((dwBehavior & r.dwBit) != 0 && r.bHolds) return nWidth;
    if ((dwBehavior & CExtGridWnd::__EGBS_BUTTONS_SELECTED_CELLS) && bInner && wndGrid.IsSelected(nColNo, nRowNo))
        return nWidth;
    return 0;
}

void CExtGridCell::OnCalcLayout(CELL_LAYOUT& lay, CSize szFocusArrow, CSize szIcon, CSize szCheck, CSize szSortArrow,
                                INT nWidthUpDown, INT nWidthDropDown, INT nWidthEllipsis,
                                EXT_GRID_CELL_PAINT_ARGS) const
{
    (void)dc, (void)nVisibleColNo, (void)nVisibleRowNo, (void)rcCellExtra, (void)rcVisibleRange, (void)dwAreaFlags,
        (void)dwHelperPaintFlags;
    LAYOUT_INPUT in;
    in.m_rcCell = rcCell;
    in.m_dwStyle = GetStyle();
    in.m_dwStyleEx = GetStyleEx();
    in.m_nColType = nColType;
    in.m_nRowType = nRowType;
    const DWORD dwItemStyle = wndGrid.GetScrollItemStyle();
    in.m_bGridLinesH = (dwItemStyle & CExtGridBaseWnd::GRID_LINES_H) != 0;
    in.m_bGridLinesV = (dwItemStyle & CExtGridBaseWnd::GRID_LINES_V) != 0;
    const POINT ptFocus = wndGrid.FocusGet();
    in.m_bFocusInBand = nColType != 0 ? (ptFocus.y >= 0 && ptFocus.y == nRowNo)
                                      : (ptFocus.x >= 0 && ptFocus.x == nColNo);
    LPCTSTR sBuffer = GetTextBuffer();
    if (sBuffer != NULL && *sBuffer != _T('\0')) {
        in.m_bHasText = true;
    } else {
        CString s;
        TextGet(s);
        in.m_bHasText = !s.IsEmpty();
    }
    in.m_szFocusArrow = szFocusArrow;
    in.m_szIcon = szIcon;
    in.m_szCheck = szCheck;
    in.m_szSortArrow = szSortArrow;
    in.m_nWidthUpDown = nWidthUpDown;
    in.m_nWidthDropDown = nWidthDropDown;
    in.m_nWidthEllipsis = nWidthEllipsis;
    in.m_rcIconMargins = GetIconMargins();
    in.m_rcTextMargins = GetMargins();
    stat_CalcLayout(in, lay);
}

void CExtGridCell::CalcPartsLayout(CELL_LAYOUT& lay, EXT_GRID_CELL_PAINT_ARGS) const
{
    const bool bOuter = IsOuterPosition(nColType, nRowType);
    const CSize szIcon = const_cast<CExtGridCell*>(this)->IconGetSize();
    const CSize szFocus = bOuter ? GetFocusArrowPartSize(dwHelperPaintFlags) : CSize(0, 0);
    const CSize szSort = bOuter ? GetSortArrowPartSize(dwHelperPaintFlags) : CSize(0, 0);
    const CSize szCheck = GetCheckGlyphSize(wndGrid, dc);
    const INT nUpDown = GetButtonWidth(__EBTT_UPDOWN_UP, EXT_GRID_CELL_PAINT_PASS);
    const INT nDropDown = GetButtonWidth(__EBTT_DROPDOWN, EXT_GRID_CELL_PAINT_PASS);
    const INT nEllipsis = GetButtonWidth(__EBTT_ELLIPSIS, EXT_GRID_CELL_PAINT_PASS);
    OnCalcLayout(lay, szFocus, szIcon, szCheck, szSort, nUpDown, nDropDown, nEllipsis, EXT_GRID_CELL_PAINT_PASS);
}

void CExtGridCell::OnHitTest(CExtGridWnd& wndGrid, HIT_TEST_INFO_T& hti, bool bComputeOuterDropAfterState) const
{
    (void)bComputeOuterDropAfterState;
    if (!hti.IsValidRect()) return;
    const INT nColType = hti.GetColumnType(), nRowType = hti.GetRowType();
    // The point is over this cell, so it is the hovered one; selection as the grid says.
    DWORD dwPaintFlags = CExtGridBaseWnd::PAINT_HOVER_COLUMN | CExtGridBaseWnd::PAINT_HOVER_ROW;
    if (nColType == 0 && nRowType == 0 && wndGrid.IsSelected(hti.m_nColNo, hti.m_nRowNo))
        dwPaintFlags |= CExtGridBaseWnd::PAINT_SELECTED_COLUMN | CExtGridBaseWnd::PAINT_SELECTED_ROW;
    CClientDC dc(&wndGrid);
    CRect rcVisibleRange(0, 0, 0, 0);
    CELL_LAYOUT lay;
    CalcPartsLayout(lay, wndGrid, dc, hti.m_nVisibleColNo, hti.m_nVisibleRowNo, hti.m_nColNo, hti.m_nRowNo, nColType,
                    nRowType, hti.m_rcExtra, hti.m_rcItem, rcVisibleRange, hti.m_dwAreaFlags, dwPaintFlags);
    hti.m_dwAreaFlags &= ~(DWORD)__EGCPF_ALL;
    hti.m_dwAreaFlags |= stat_HitTestParts(lay, hti.m_ptClient, hti.m_nButtonType, hti.m_rcPart);
}

CSize CExtGridCell::OnMeasureText(EXT_GRID_CELL_PAINT_ARGS) const
{
    (void)nVisibleColNo, (void)nVisibleRowNo, (void)rcCellExtra, (void)rcCell, (void)rcVisibleRange;
    bool bDeleteFont = false;
    HFONT hFont = OnQueryCellFont(&wndGrid, nColNo, nRowNo, nColType, nRowType, &bDeleteFont);
    if (hFont == NULL) {
        CFont* pFont = wndGrid.GetPaintFont();
        if (pFont != NULL) hFont = (HFONT)pFont->GetSafeHandle();
        bDeleteFont = false;
    }
    HGDIOBJ hOld = hFont != NULL ? ::SelectObject(dc.GetSafeHdc(), hFont) : NULL;
    CString sText;
    if ((GetStyle() & 0x80) != 0 && IsOuterPosition(nColType, nRowType))
        OnFormatHeaderNumber(sText, EXT_GRID_CELL_PAINT_PASS);
    else if (GetTextBuffer() != NULL && *GetTextBuffer() != _T('\0'))
        sText = GetTextBuffer();
    else
        TextGet(sText);
    CRect rcText(0, 0, 0, 0);
    UINT nFlags = DT_CALCRECT | DT_NOPREFIX;
    if (GetStyleEx() & __EGCS_EX_WRAP_TEXT) {
        nFlags |= DT_WORDBREAK;
        rcText.right = nColType == 0 ? wndGrid.QueryColumnExtent(nColNo) : rcCell.right - rcCell.left;
        rcText.bottom = nRowType == 0 ? wndGrid.QueryRowExtent(nRowNo) : rcCell.bottom - rcCell.top;
    } else {
        nFlags |= DT_SINGLELINE;
    }
    if (!sText.IsEmpty()) ::DrawText(dc.GetSafeHdc(), sText, sText.GetLength(), &rcText, nFlags);
    CRect rcProbe(0, 0, 0, 0);
    ::DrawText(dc.GetSafeHdc(), g_szHeightProbe, -1, &rcProbe, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    if (hOld != NULL) ::SelectObject(dc.GetSafeHdc(), hOld);
    if (bDeleteFont && hFont != NULL) ::DeleteObject(hFont);
    return CSize(rcText.Width(), std::max(rcText.Height(), rcProbe.Height()));
}

CSize CExtGridCell::OnMeasureCell(CExtGridWnd* pWndGrid, CDC& dc) const
{
    if (pWndGrid != NULL && pWndGrid->GetSafeHwnd() == NULL) pWndGrid = NULL;
    bool bDeleteFont = false;
    HFONT hFont = OnQueryCellFont(pWndGrid, -1, -1, 0, 0, &bDeleteFont);
    if (hFont == NULL && pWndGrid != NULL) {
        CFont* pFont = pWndGrid->GetPaintFont();
        if (pFont != NULL) hFont = (HFONT)pFont->GetSafeHandle();
        bDeleteFont = false;
    }
    HGDIOBJ hOld = hFont != NULL ? ::SelectObject(dc.GetSafeHdc(), hFont) : NULL;
    CString sText;
    if (GetTextBuffer() != NULL)
        sText = GetTextBuffer();
    else
        TextGet(sText);
    CRect rcText(0, 0, 0, 0);
    UINT nFlags = DT_CALCRECT | DT_NOPREFIX;
    if (GetStyleEx() & __EGCS_EX_WRAP_TEXT) {
        nFlags |= DT_WORDBREAK;
        rcText.SetRect(0, 0, 24000, 100);
    } else {
        nFlags |= DT_SINGLELINE;
    }
    if (!sText.IsEmpty())
        ::DrawText(dc.GetSafeHdc(), sText, sText.GetLength(), &rcText, nFlags);
    else
        rcText.SetRect(0, 0, 0, 0);
    CRect rcProbe(0, 0, 0, 0);
    ::DrawText(dc.GetSafeHdc(), g_szHeightProbe, -1, &rcProbe, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    if (hOld != NULL) ::SelectObject(dc.GetSafeHdc(), hOld);
    if (bDeleteFont && hFont != NULL) ::DeleteObject(hFont);

    CExtGridCell* pThis = const_cast<CExtGridCell*>(this);
    const CSize szIcon = pThis->IconGetSize();
    LONG cxText = rcText.Width() + 4;
    LONG cyText = std::max(rcText.Height(), rcProbe.Height());
    if (pWndGrid != NULL) {
        const CRect rcMargins = GetMargins();
        cxText += rcMargins.left + rcMargins.right;
        cyText += rcMargins.top + rcMargins.bottom;
    } else if (szIcon.cx > 0) {
        cxText += 4;
    }
    const DWORD dwStyle = GetStyle();
    LONG cxButtons = 0, cyButtons = 0;
    if (dwStyle & (__EGCS_BUTTON_ELLIPSIS | __EGCS_BUTTON_DROPDOWN | __EGCS_BUTTON_UPDOWN)) {
        if (pWndGrid == NULL || (pWndGrid->GetBehaviorStyle() & CExtGridWnd::__EGBS_BUTTONS_PERSISTENT) != 0) {
            const LONG w = ::GetSystemMetrics(SM_CXVSCROLL);
            for (DWORD dwBit : {(DWORD)__EGCS_BUTTON_ELLIPSIS, (DWORD)__EGCS_BUTTON_DROPDOWN,
                                (DWORD)__EGCS_BUTTON_UPDOWN}) {
                if ((dwStyle & dwBit) == 0) continue;
                cxButtons += w;
                cyButtons = std::max(cyButtons, w);
            }
        }
    }
    CSize szCheck(0, 0);
    if (dwStyle & __EGCS_CHK_MASK)
        szCheck = pWndGrid != NULL ? GetCheckGlyphSize(*pWndGrid, dc) : CSize(13, 13);
    const LONG cxSort = (dwStyle & __EGCS_SORT_ARROW) ? 14 : 0;
    const LONG cxFocus = (dwStyle & (__EGCS_HDR_FOCUS_ARROW_DISPLAY | __EGCS_HDR_FOCUS_ARROW_RESERVE_SPACE)) ? 12 : 0;
    CSize sz;
    sz.cx = (szIcon.cx > 0 ? szIcon.cx + 2 : 0) + cxFocus + cxSort + szCheck.cx + cxButtons + cxText;
    sz.cy = std::max({(LONG)szIcon.cy, cyText, cyButtons, (LONG)szCheck.cy, cxSort, cxFocus});
    return sz;
}

INT CExtGridCell::MeasureExtent(CExtGridWnd* pWndGrid, CDC& dc, bool bWidth) const
{
    const CSize sz = OnMeasureCell(pWndGrid, dc);
    return bWidth ? sz.cx : sz.cy;
}

CSize CExtGridCell::MeasureCell(CExtGridWnd* pWndGrid) const
{
    if (pWndGrid != NULL && pWndGrid->GetSafeHwnd() != NULL) {
        CClientDC dc(pWndGrid);
        return OnMeasureCell(pWndGrid, dc);
    }
    CWindowDC dc(NULL);
    return OnMeasureCell(NULL, dc);
}
