// The flat and the button tab strips: their measuring, band, items, buttons and the
// order in which the flat strip paints its overlapping items.
#include "toolkit/dialogs/tab_flat_wnd.h"

#include <algorithm>
#include "toolkit/theme/pm_tabs.h"

IMPLEMENT_DYNCREATE(CExtTabFlatWnd, CExtTabWnd)
IMPLEMENT_DYNCREATE(CExtTabButtonsWnd, CExtTabFlatWnd)

BEGIN_MESSAGE_MAP(CExtTabFlatWnd, CExtTabWnd)
    ON_MESSAGE(WM_SIZEPARENT, &CExtTabFlatWnd::OnFlatSizeParent)
END_MESSAGE_MAP()

BEGIN_MESSAGE_MAP(CExtTabButtonsWnd, CExtTabFlatWnd)
    ON_MESSAGE(WM_SIZEPARENT, &CExtTabButtonsWnd::OnButtonsSizeParent)
END_MESSAGE_MAP()

namespace {

// A point given along the strip (a) and across it from the item's outer edge (c), in
// the client coordinates of an item rectangle of the orientation.
POINT FlatPoint(int nOrientation, const RECT& rc, int a, int c)
{
    POINT pt;
    switch (nOrientation)
    {
    case 0:
        pt.x = a;
        pt.y = rc.top + c;
        break;
    case 1:
        pt.x = a;
        pt.y = rc.bottom - 1 - c;
        break;
    case 2:
        pt.x = rc.left + c;
        pt.y = a;
        break;
    default:
        pt.x = rc.right - 1 - c;
        pt.y = a;
        break;
    }
    return pt;
}

void PenLine(CDC& dc, COLORREF clr, POINT ptFrom, POINT ptTo)
{
    CPen pen(PS_SOLID, 1, clr);
    CPen* pOld = dc.SelectObject(&pen);
    dc.MoveTo(ptFrom);
    dc.LineTo(ptTo);
    dc.SelectObject(pOld);
}

}  // namespace

// ---- CExtTabFlatWnd ----------------------------------------------------------------------

CExtTabFlatWnd::CExtTabFlatWnd() {}

CExtTabFlatWnd::~CExtTabFlatWnd() {}

int CExtTabFlatWnd::GetItemSlant(bool bHorizontal, const RECT& rc)
{
    return ::MulDiv(bHorizontal ? (rc.bottom - rc.top) : (rc.right - rc.left), 1, 4);
}

void CExtTabFlatWnd::GetItemColors(int, bool bSelected, COLORREF& clrLight, COLORREF& clrShadow,
                                   COLORREF& clrDarkShadow, COLORREF& clrFill, COLORREF& clrText)
{
    CExtPaintManager* pPM = GetPaintManager();
    clrLight = pPM->LookupColor(COLOR_3DHILIGHT, this);
    clrShadow = pPM->LookupColor(COLOR_BTNSHADOW, this);
    clrDarkShadow = pPM->LookupColor(COLOR_3DDKSHADOW, this);
    clrFill = bSelected ? RGB(255, 255, 255) : pPM->LookupColor(1000, this);
    clrText = pPM->LookupColor(COLOR_BTNTEXT, this);
}

void CExtTabFlatWnd::GetLineColor(COLORREF& clrLine) { clrLine = GetPaintManager()->LookupColor(COLOR_3DDKSHADOW, this); }

void CExtTabFlatWnd::GetItemSlants(int, bool, bool* pbStart, bool* pbEnd)
{
    if (pbStart != NULL)
        *pbStart = (m_dwTabWndStyle & __ETWS_FLAT_NO_START_SLANT) == 0;
    if (pbEnd != NULL)
        *pbEnd = (m_dwTabWndStyle & __ETWS_FLAT_NO_END_SLANT) == 0;
}

int CExtTabFlatWnd::GetFlatBandThickness(bool) { return __ETW_FLAT_BAND_THICKNESS; }

void CExtTabFlatWnd::OnTabWndQueryMetrics(int& m1, int& m2, int& m3)
{
    // The first item's slanted start reaches back over the items-area start.
    const int s = GetItemSlant(OrientationIsHorizontal(), GetTabWndClientRect());
    m1 = ((m_dwTabWndStyle & __ETWS_FLAT_NO_START_SLANT) == 0 && s >= 1) ? s - 2 : -1;
    m2 = 0;
    m3 = 0;
}

void CExtTabFlatWnd::OnTabWndUpdateItemMeasure(TAB_ITEM_INFO* pTii, CDC&, CSize& size)
{
    const CRect rcClient = GetTabWndClientRect();
    const bool bHorz = OrientationIsHorizontal();
    int s = GetItemSlant(bHorz, rcClient);
    bool bStart = false, bEnd = false;
    GetItemSlants(ItemGetIndexOf(pTii), pTii != NULL && pTii->SelectedGet(), &bStart, &bEnd);
    if (!bStart && !bEnd)
        s = 0;
    int m1 = 0, m2 = 0, m3 = 0;
    OnTabWndQueryMetrics(m1, m2, m3);
    if (bHorz)
    {
        size.cy = rcClient.Height() - m3 - m2;
        if (s > 0)
            size.cx += 2 * s + 2;
    }
    else
    {
        size.cx = rcClient.Width() - m3 - m2;
        if (s > 0)
            size.cy += 2 * s + 2;
    }
}

CSize CExtTabFlatWnd::OnTabWndQueryButtonSize() const
{
    CSize size = CExtTabWnd::OnTabWndQueryButtonSize();
    const CRect rcClient = GetTabWndClientRect();
    const int nOrientation = OrientationGet();
    if (nOrientation <= 1)
    {
        const int h = rcClient.Height();
        if (size.cx > h)
            size.cx = ::MulDiv(size.cx, 8, 10);
        size.cy = std::min<int>(size.cy, h - 1);
        if (nOrientation == 1 && size.cy > h - 2)
            size.cy--;
    }
    else
    {
        const int w = rcClient.Width();
        if (size.cy > w - 1)
            size.cy = ::MulDiv(size.cy, 8, 10);
        size.cx = std::min<int>(size.cx, w - 1);
        if (nOrientation == 3 && size.cx > w - 2)
            size.cx--;
    }
    size.cx = std::max<int>(size.cx, 3);
    size.cy = std::max<int>(size.cy, 3);
    return size;
}

LRESULT CExtTabFlatWnd::OnFlatSizeParent(WPARAM, LPARAM lParam)
{
    _SizeParent(lParam, GetFlatBandThickness(OrientationIsHorizontal()));
    return 0;
}

void CExtTabFlatWnd::DrawOpenSideLine(CDC& dc, const RECT& rcClient, int nOrientation)
{
    COLORREF clrLine = 0;
    GetLineColor(clrLine);
    const int cx = rcClient.right - rcClient.left, cy = rcClient.bottom - rcClient.top;
    switch (nOrientation)
    {
    case 0:
        dc.FillSolidRect(rcClient.left, rcClient.bottom - 1, cx, 1, clrLine);
        break;
    case 1:
        dc.FillSolidRect(rcClient.left, rcClient.top, cx, 1, clrLine);
        break;
    case 2:
        dc.FillSolidRect(rcClient.right - 1, rcClient.top, 1, cy, clrLine);
        break;
    default:
        dc.FillSolidRect(rcClient.left, rcClient.top, 1, cy, clrLine);
        break;
    }
}

void CExtTabFlatWnd::OnTabWndEraseClientArea(CDC& dc, const RECT& rcClient, const RECT& rcTabItemsArea,
                                             const RECT& rcTabNearBorderArea, int nOrientation,
                                             bool bGroupedMode)
{
    CExtPaintManager* pPM = GetPaintManager();
    if (pPM->IsKindOf(RUNTIME_CLASS(CExtPaintManagerOffice2003)))
        pPM->DrawTabPart(dc, rcClient, rcTabItemsArea, rcTabNearBorderArea, (DWORD)nOrientation,
                         bGroupedMode, this, 0);
    else
        dc.FillSolidRect(&rcClient, pPM->LookupColor(1000, this));
    DrawOpenSideLine(dc, rcClient, nOrientation);
}

void CExtTabFlatWnd::OnTabWndDrawEntire(CDC& dc, const RECT& rcClient)
{
    _DrawBackground(dc, rcClient);
    if (_HasItemsInView())
    {
        // The selected item goes last, over the slanted ends of its neighbours.
        const CRect rcClip = _GetItemsClipRect();
        CRgn rgnClip;
        rgnClip.CreateRectRgnIndirect(&rcClip);
        dc.SelectClipRgn(&rgnClip);
        for (int i = m_nIndexVisFirst; i <= m_nIndexVisLast && i < ItemGetCount(); i++)
            if (i != m_nSelIndex)
                _DrawItemInView(dc, i);
        dc.SelectClipRgn(NULL);
        if (m_nSelIndex >= m_nIndexVisFirst && m_nSelIndex <= m_nIndexVisLast)
        {
            CRgn rgnSel;
            rgnSel.CreateRectRgnIndirect(&m_rcTabItemsArea);
            dc.SelectClipRgn(&rgnSel);
            _DrawItemInView(dc, m_nSelIndex);
            dc.SelectClipRgn(NULL);
        }
    }
    _DrawButtons(dc);
}

void CExtTabFlatWnd::OnTabWndDrawItem(CDC& dc, const RECT&, int nItemIndex, TAB_ITEM_INFO* pTii, bool,
                                      bool bHorz, bool bSelected, bool bCenteredText, bool, bool,
                                      bool bInvertedVerticalMode, const RECT& rcEntireItem,
                                      CSize sizeTextMeasured, CFont* pFont, LPCTSTR sText,
                                      CExtCmdIcon* pIcon)
{
    COLORREF clrLight, clrShadow, clrDark, clrFill, clrText;
    GetItemColors(nItemIndex, bSelected, clrLight, clrShadow, clrDark, clrFill, clrText);
    bool bStart = false, bEnd = false;
    GetItemSlants(nItemIndex, bSelected, &bStart, &bEnd);
    int s = GetItemSlant(bHorz, rcEntireItem);
    if ((!bStart && !bEnd) || s < 1)
        s = 0;
    const int nOrientation = OrientationGet();
    const CRect rc(rcEntireItem);
    const int nAlong0 = bHorz ? rc.left : rc.top, nAlong1 = bHorz ? rc.right : rc.bottom;
    const int nThick = bHorz ? rc.Height() : rc.Width();
    const int a0 = nAlong0 + ((bStart && s > 0) ? 2 : 1), a1 = nAlong1 - 1;
    const int sStart = bStart ? s : 0, sEnd = bEnd ? s : 0;
    // Corners: content-side start, outer start, outer end, content-side end.
    const POINT pts[4] = {FlatPoint(nOrientation, rc, a0 - sStart, nThick),
                          FlatPoint(nOrientation, rc, a0 + sStart, 0),
                          FlatPoint(nOrientation, rc, a1 - sEnd, 0),
                          FlatPoint(nOrientation, rc, a1 + sEnd, nThick)};
    CRgn rgn;
    if (rgn.CreatePolygonRgn(const_cast<POINT*>(pts), 4, ALTERNATE))
    {
        CBrush br(clrFill);
        dc.FillRgn(&rgn, &br);
    }
    PenLine(dc, clrDark, pts[0], pts[1]);
    PenLine(dc, clrDark, pts[2], pts[3]);
    PenLine(dc, bSelected ? clrShadow : clrDark, pts[1], pts[2]);
    PenLine(dc, clrLight, FlatPoint(nOrientation, rc, a0 - sStart + 1, nThick),
            FlatPoint(nOrientation, rc, a0 + sStart + 1, 1));
    PenLine(dc, clrLight, FlatPoint(nOrientation, rc, a0 + sStart + 1, 1),
            FlatPoint(nOrientation, rc, a1 - sEnd, 1));

    CRect rcContent(rc);
    if (bHorz)
        rcContent.DeflateRect(s + 2, 1);
    else
        rcContent.DeflateRect(1, s + 2);
    DrawItemContent(dc, rcContent, bHorz, bCenteredText, bInvertedVerticalMode, sizeTextMeasured, pFont,
                    sText, pIcon, clrText, pTii == NULL || pTii->EnabledGet(), false);
}

void CExtTabFlatWnd::DrawItemContent(CDC& dc, const RECT& rcContent, bool bHorz, bool bCenteredText,
                                     bool bInvertedVerticalMode, CSize sizeTextMeasured, CFont* pFont,
                                     LPCTSTR sText, CExtCmdIcon* pIcon, COLORREF clrText, bool bEnabled,
                                     bool bThemeIcon)
{
    CRect rcText(rcContent);
    CSize sizeIcon(0, 0);
    const bool bIcon = (m_dwTabWndStyle & __ETWS_HIDE_ICONS) == 0 && pIcon != NULL && !pIcon->IsEmpty();
    if (bIcon)
    {
        sizeIcon = pIcon->GetSize();
        CRect rcIcon(rcContent.left, rcContent.top, rcContent.left + sizeIcon.cx, rcContent.top + sizeIcon.cy);
        if (bHorz)
            rcIcon.OffsetRect(1, (rcContent.bottom - rcContent.top - sizeIcon.cy) / 2);
        else
            rcIcon.OffsetRect((rcContent.right - rcContent.left - sizeIcon.cx) / 2, 1);
        if (bThemeIcon)
        {
            CRect rcCaption(0, 0, 0, 0);
            GetPaintManager()->PaintIcon(&dc, true, CString(), pIcon, rcIcon, rcCaption, false, bEnabled,
                                         false, 0, false);
        }
        else
            pIcon->Paint(GetPaintManager(), dc.GetSafeHdc(), rcIcon.left, rcIcon.top, sizeIcon.cx, sizeIcon.cy,
                         bEnabled ? CExtCmdIcon::__PAINT_NORMAL : CExtCmdIcon::__PAINT_DISABLED);
        if (bHorz)
            rcText.left += sizeIcon.cx + 3;
        else
            rcText.top += sizeIcon.cy + 3;
    }
    const int nRoom = bHorz ? rcText.Width() : rcText.Height();
    const CString sDraw = (sText != NULL) ? sText : _T("");
    if (sDraw.IsEmpty() || nRoom < std::max<int>(16, sizeIcon.cx))
        return;
    CFont* pOldFont = (pFont != NULL) ? dc.SelectObject(pFont) : NULL;
    const int nOldMode = dc.SetBkMode(TRANSPARENT);
    const COLORREF clrOld = dc.SetTextColor(clrText);
    if (bHorz)
    {
        UINT nFlags = DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS;
        if ((m_dwTabWndStyle & __ETWS_CENTERED_TEXT) != 0)
            nFlags |= DT_CENTER;
        dc.DrawText(sDraw, &rcText, nFlags);
    }
    else
    {
        const UINT nOldAlign = dc.SetTextAlign(bCenteredText ? (TA_BASELINE | TA_CENTER) : TA_BASELINE);
        // Text that reads upwards stands right of its baseline's middle, downwards left.
        const int x = (rcText.left + rcText.right) / 2 +
                      (bInvertedVerticalMode ? sizeTextMeasured.cy / 2 : -sizeTextMeasured.cy / 2);
        int y;
        if (bCenteredText)
            y = (rcText.top + rcText.bottom) / 2;
        else
            y = bInvertedVerticalMode ? std::min<int>(rcText.bottom, rcText.top + sizeTextMeasured.cx) : rcText.top;
        dc.ExtTextOut(x, y, ETO_CLIPPED, &rcText, sDraw, NULL);
        dc.SetTextAlign(nOldAlign);
    }
    dc.SetTextColor(clrOld);
    dc.SetBkMode(nOldMode);
    if (pOldFont != NULL)
        dc.SelectObject(pOldFont);
}

void CExtTabFlatWnd::OnTabWndDrawButton(CDC& dc, const RECT& rcButton, int nHitTest, bool, bool bHorz,
                                        bool bEnabled, bool bHover, bool bPushed, bool)
{
    CExtPaintManager* pPM = GetPaintManager();
    const CExtPaintManager::glyph* pGlyph = TabButtonGlyph(nHitTest, bHorz, bEnabled);
    if (pGlyph != NULL)
    {
        const COLORREF clrs[2] = {0, pPM->LookupColor(bEnabled ? COLOR_BTNTEXT : COLOR_BTNSHADOW, this)};
        pPM->DrawGlyph(dc, rcButton, *pGlyph, clrs);
    }
    if (bHover || bPushed)
    {
        const COLORREF clrLight = pPM->LookupColor(COLOR_3DHILIGHT, this);
        const COLORREF clrDark = pPM->LookupColor(COLOR_3DDKSHADOW, this);
        if (bPushed)
            dc.Draw3dRect(&rcButton, clrDark, clrLight);
        else
            dc.Draw3dRect(&rcButton, clrLight, clrDark);
    }
}

// ---- CExtTabButtonsWnd -------------------------------------------------------------------

CExtTabButtonsWnd::CExtTabButtonsWnd() {}

CExtTabButtonsWnd::~CExtTabButtonsWnd() {}

void CExtTabButtonsWnd::GetItemSlants(int, bool, bool* pbStart, bool* pbEnd)
{
    if (pbStart != NULL)
        *pbStart = false;
    if (pbEnd != NULL)
        *pbEnd = false;
}

void CExtTabButtonsWnd::OnTabWndQueryMetrics(int&, int&, int&) {}

void CExtTabButtonsWnd::OnTabWndUpdateItemMeasure(TAB_ITEM_INFO*, CDC&, CSize&) {}

void CExtTabButtonsWnd::OnTabWndDrawEntire(CDC& dc, const RECT& rcClient)
{
    CExtTabWnd::OnTabWndDrawEntire(dc, rcClient);
}

int CExtTabButtonsWnd::OnTabWndQueryBandExtra(int nOrientation)
{
    switch (nOrientation)
    {
    case 0:
    case 2:
        return 3;
    case 1:
    case 3:
        return 1;
    default:
        return 0;
    }
}

LRESULT CExtTabButtonsWnd::OnButtonsSizeParent(WPARAM, LPARAM lParam)
{
    _SizeParent(lParam, -1);
    return 0;
}

void CExtTabButtonsWnd::OnTabWndEraseClientArea(CDC& dc, const RECT& rcClient, const RECT&, const RECT&, int,
                                                bool)
{
    CExtPaintManager* pPM = GetPaintManager();
    CRect rc(rcClient);
    if (!pPM->DrawWindowBackground(true, dc, this, 0))
        dc.FillSolidRect(&rc, pPM->LookupColor(1000, this));
}

void CExtTabButtonsWnd::OnTabWndDrawItem(CDC& dc, const RECT& rcTabItemsArea, int nItemIndex,
                                         TAB_ITEM_INFO* pTii, bool, bool bHorz, bool bSelected,
                                         bool bCenteredText, bool bGroupedMode, bool bInGroupActive,
                                         bool bInvertedVerticalMode, const RECT& rcEntireItem,
                                         CSize sizeTextMeasured, CFont* pFont, LPCTSTR sText,
                                         CExtCmdIcon* pIcon)
{
    const bool bHighlighted = bSelected || (bGroupedMode && bInGroupActive);
    COLORREF clrLight, clrShadow, clrDark, clrFill, clrText;
    GetItemColors(nItemIndex, bHighlighted, clrLight, clrShadow, clrDark, clrFill, clrText);
    if (bHighlighted)
    {
        CRect rcButton;
        if (rcButton.IntersectRect(&rcEntireItem, &rcTabItemsArea))
        {
            dc.FillSolidRect(&rcButton, clrFill);
            dc.Draw3dRect(&rcButton, clrDark, clrDark);
        }
    }
    CRect rcContent(rcEntireItem);
    rcContent.DeflateRect(2, 2);
    DrawItemContent(dc, rcContent, bHorz, bCenteredText, bInvertedVerticalMode, sizeTextMeasured, pFont, sText,
                    pIcon, clrText, pTii == NULL || pTii->EnabledGet(), true);
}
