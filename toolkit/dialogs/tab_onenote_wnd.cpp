// The OneNote-look tab strip: its palette, item records, measuring, background and item
// shapes.
#include "toolkit/dialogs/tab_onenote_wnd.h"

#include <algorithm>
#include "toolkit/theme/pm_tabs.h"

IMPLEMENT_DYNCREATE(CExtTabOneNoteWnd, CExtTabWnd)

namespace {

const COLORREF g_palette[7][2] = {
    {0x00F7E6DD, 0x00E4A88A}, {0x00D5F4FF, 0x0069D8FF}, {0x00E2F0EA, 0x0097C9B7}, {0x00E2E1F9, 0x009795EE},
    {0x00F5E3EA, 0x00DE9EB4}, {0x00E8ECE0, 0x00AEBA91}, {0x00D9E9FC, 0x0078B0F6},
};

bool IsPaletteDC(CDC& dc) { return CExtPaintManager::GetDcBitsPerPixel(dc.GetSafeHdc()) <= 8; }

// A point built for a strip at the top, turned to the strip's side within rcItem.
POINT Turn(int nOrientation, const RECT& rcItem, POINT pt)
{
    POINT r = pt;
    switch (nOrientation)
    {
    case 1:
        r.y = rcItem.top + rcItem.bottom - pt.y;
        break;
    case 2:
        // Built on the transposed rectangle: along the strip is y, the outer edge left.
        r.x = pt.y;
        r.y = pt.x;
        break;
    case 3:
        r.x = rcItem.left + rcItem.right - pt.y;
        r.y = pt.x;
        break;
    default:
        break;
    }
    return r;
}

}  // namespace

CExtTabOneNoteWnd::CExtTabOneNoteWnd() : m_nNextColorIndex(0) {}

CExtTabOneNoteWnd::~CExtTabOneNoteWnd() {}

void CExtTabOneNoteWnd::PreSubclassWindow()
{
    const bool bCreated = (m_wTabWndState & __ETWST_CREATED) != 0;
    CExtTabWnd::PreSubclassWindow();
    if (!bCreated)
        m_dwTabWndStyle = __ETWS_ONENOTE_SUBCLASS_STYLE;
}

void CExtTabOneNoteWnd::GetPaletteColors(int nIndex, COLORREF* pclrLight, COLORREF* pclrDark)
{
    COLORREF clrLight, clrDark;
    if (nIndex < 0)
        clrLight = clrDark = GetPaintManager()->LookupColor(COLOR_3DFACE, this);
    else
    {
        clrLight = g_palette[nIndex % 7][0];
        clrDark = g_palette[nIndex % 7][1];
    }
    if (pclrLight != NULL)
        *pclrLight = clrLight;
    if (pclrDark != NULL)
        *pclrDark = clrDark;
}

bool CExtTabOneNoteWnd::ItemGetColors(int nIndex, COLORREF* pclrLight, COLORREF* pclrDark) const
{
    const TAB_ITEM_INFO_ONENOTE* pTii = dynamic_cast<const TAB_ITEM_INFO_ONENOTE*>(ItemGet(nIndex));
    if (pTii == NULL)
        return false;
    if (pclrLight != NULL)
        *pclrLight = pTii->m_clrLight;
    if (pclrDark != NULL)
        *pclrDark = pTii->m_clrDark;
    return true;
}

CExtTabWnd::TAB_ITEM_INFO* CExtTabOneNoteWnd::ItemInsert(LPCTSTR sText, const CExtCmdIcon* pIcon,
                                                         DWORD dwItemStyle, int nIndex, LPARAM lParam,
                                                         COLORREF clrLight, COLORREF clrDark, bool bUpdate)
{
    if (clrLight == COLORREF(-1L) || clrDark == COLORREF(-1L))
    {
        GetPaletteColors(m_nNextColorIndex, &clrLight, &clrDark);
        m_nNextColorIndex++;
    }
    TAB_ITEM_INFO* pPrev = NULL;
    TAB_ITEM_INFO* pNext = NULL;
    _ItemInsertPlace(nIndex, pPrev, pNext);
    return _ItemInsertFinish(nIndex, new TAB_ITEM_INFO_ONENOTE(this, pPrev, pNext, sText, pIcon, dwItemStyle, lParam,
                                                               clrLight, clrDark),
                             bUpdate);
}

void CExtTabOneNoteWnd::ItemMoveImpl(int nIndexFrom, int nIndexTo)
{
    ItemEnsureVisible(nIndexTo, false);
    TAB_ITEM_INFO* pOld = ItemGet(nIndexFrom);
    const CString sText = pOld->GetText();
    CExtCmdIcon icon;
    CExtCmdIcon* pIcon = OnTabWndQueryItemIcon(pOld);
    if (pIcon != NULL)
        icon = *pIcon;
    COLORREF clrLight = 0, clrDark = 0;
    ItemGetColors(nIndexFrom, &clrLight, &clrDark);
    const DWORD dwStyle = pOld->GetItemStyle() & ~DWORD(TAB_ITEM_INFO::__ETWI_SELECTED);
    const bool bForward = nIndexTo > nIndexFrom;
    ItemInsert(sText, &icon, dwStyle, bForward ? nIndexTo + 1 : nIndexTo, pOld->LParamGet(), clrLight, clrDark,
               false);
    ItemRemove(bForward ? nIndexFrom : nIndexFrom + 1, 1, false);
    SelectionSet(nIndexTo, false, false);
}

void CExtTabOneNoteWnd::OnTabWndQueryMetrics(int& m1, int& m2, int& m3)
{
    m1 = 1;
    m2 = 2;
    m3 = 3;
}

void CExtTabOneNoteWnd::OnTabWndUpdateItemMeasure(TAB_ITEM_INFO* pTii, CDC&, CSize& size)
{
    // The first item carries its slanted edge inside its own rectangle.
    const int nExtra = 3 + ((pTii != NULL && ItemGetIndexOf(pTii) == 0) ? __ETW_ONENOTE_FIRST_SLANT : 0);
    if (OrientationIsHorizontal())
    {
        size.cx += nExtra;
        size.cy = __ETW_ONENOTE_ITEM_THICKNESS;
    }
    else
    {
        size.cy += nExtra;
        size.cx = __ETW_ONENOTE_ITEM_THICKNESS;
    }
}

void CExtTabOneNoteWnd::OnTabWndEraseClientArea(CDC& dc, const RECT& rcClient, const RECT& rcTabItemsArea,
                                                const RECT&, int nOrientation, bool)
{
    CExtPaintManager* pPM = GetPaintManager();
    if (!IsPaletteDC(dc))
    {
        // Lighter towards the pages.
        const COLORREF clrLight = pPM->LookupColor(COLOR_BTNHIGHLIGHT, this);
        const COLORREF clr3d = pPM->LookupColor(COLOR_3DLIGHT, this);
        switch (nOrientation)
        {
        case 0:
            CExtPaintManager::GradientFillRect(dc, rcClient, clrLight, clr3d, true);
            break;
        case 1:
            CExtPaintManager::GradientFillRect(dc, rcClient, clr3d, clrLight, true);
            break;
        case 2:
            CExtPaintManager::GradientFillRect(dc, rcClient, clr3d, clrLight, false);
            break;
        default:
            CExtPaintManager::GradientFillRect(dc, rcClient, clrLight, clr3d, false);
            break;
        }
    }
    else
        dc.FillSolidRect(&rcClient, pPM->LookupColor(COLOR_3DFACE, this));
    DrawContentSideLine(dc, rcClient, rcTabItemsArea, nOrientation);
}

void CExtTabOneNoteWnd::DrawContentSideLine(CDC& dc, const RECT& rcClient, const RECT& rcItemsArea,
                                            int nOrientation)
{
    CExtPaintManager* pPM = GetPaintManager();
    const CRect rcArea(rcItemsArea);
    if (rcArea.IsRectEmpty())
        return;
    // The shadow line along the items' content side, then the band beyond it in the
    // selected page's colour.
    CRect rcLine(rcArea), rcBeyond(rcClient);
    switch (nOrientation)
    {
    case 0:
        rcLine.top = rcArea.bottom;
        rcLine.bottom = rcLine.top + 1;
        rcBeyond.top = rcLine.bottom;
        break;
    case 1:
        rcLine.bottom = rcArea.top;
        rcLine.top = rcLine.bottom - 1;
        rcBeyond.bottom = rcLine.top;
        break;
    case 2:
        rcLine.left = rcArea.right;
        rcLine.right = rcLine.left + 1;
        rcBeyond.left = rcLine.right;
        break;
    default:
        rcLine.right = rcArea.left;
        rcLine.left = rcLine.right - 1;
        rcBeyond.right = rcLine.left;
        break;
    }
    if (OrientationIsHorizontal())
    {
        rcLine.left = rcClient.left;
        rcLine.right = rcClient.right;
    }
    else
    {
        rcLine.top = rcClient.top;
        rcLine.bottom = rcClient.bottom;
    }
    dc.FillSolidRect(&rcLine, pPM->LookupColor(COLOR_3DSHADOW, this));
    if (rcBeyond.IsRectEmpty())
        return;
    COLORREF clrLight = 0;
    const bool bSelected = ItemGetColors(m_nSelIndex, &clrLight, NULL);
    if (IsPaletteDC(dc))
        dc.FillSolidRect(&rcBeyond, pPM->LookupColor(bSelected ? COLOR_WINDOW : COLOR_3DFACE, this));
    else if (bSelected)
        dc.FillSolidRect(&rcBeyond, clrLight);
}

void CExtTabOneNoteWnd::BuildItemPolygon(int nItemIndex, const RECT& rcItem, POINT* pts, int& nPoints)
{
    // Built as for a strip at the top; vertical strips on the transposed rectangle.
    RECT rc = rcItem;
    if (OrientationIsVertical())
        ::SetRect(&rc, rcItem.top, rcItem.left, rcItem.bottom, rcItem.right);
    const int t = rc.top, r = rc.right, b = rc.bottom;
    const bool bFirst = nItemIndex == 0;
    const int l = bFirst ? rc.left : rc.left + 1;
    // Items up to the selected one lean over their predecessor; the first leans inside
    // its own, longer rectangle.
    const bool bSlanted = bFirst || (m_nSelIndex >= 0 && nItemIndex <= m_nSelIndex);
    POINT p[11] = {{r + 1, b}, {r + 1, t + 2}, {r - 1, t}, {l + 5, t}, {l + 4, t + 1}, {l + 3, t + 1},
                   {l + 2, t + 2}, {l + 1, t + 2}, {l, t + 3}, {l, b - 1}, {l, b - 1}};
    if (bSlanted)
    {
        p[9].x = l - 15;
        p[10].x = l - 16;
    }
    if (bFirst)
        for (int i = 3; i < 11; i++)
            p[i].x += __ETW_ONENOTE_FIRST_SLANT;
    for (int i = 0; i < 11; i++)
        pts[i] = Turn(OrientationGet(), rcItem, p[i]);
    nPoints = 11;
}

void CExtTabOneNoteWnd::OnTabWndDrawItem(CDC& dc, const RECT& rcTabItemsArea, int nItemIndex,
                                         TAB_ITEM_INFO* pTii, bool, bool bHorz, bool, bool bCenteredText,
                                         bool bGroupedMode, bool bInGroupActive, bool bInvertedVerticalMode,
                                         const RECT& rcEntireItem, CSize sizeTextMeasured, CFont* pFont,
                                         LPCTSTR sText, CExtCmdIcon* pIcon)
{
    CExtPaintManager* pPM = GetPaintManager();
    COLORREF clrLight = 0, clrDark = 0;
    if (!ItemGetColors(nItemIndex, &clrLight, &clrDark))
        GetPaletteColors(-1, &clrLight, &clrDark);
    POINT pts[11];
    int nPoints = 0;
    BuildItemPolygon(nItemIndex, rcEntireItem, pts, nPoints);
    CRgn rgn;
    if (!rgn.CreatePolygonRgn(pts, nPoints, ALTERNATE))
        return;
    if (!IsPaletteDC(dc))
    {
        // Light towards the page, dark at the outer edge.
        CRect rcFill(rcEntireItem);
        rcFill.InflateRect(__ETW_ONENOTE_FIRST_SLANT + 1, __ETW_ONENOTE_FIRST_SLANT + 1);
        dc.SaveDC();
        dc.SelectClipRgn(&rgn, RGN_AND);
        switch (OrientationGet())
        {
        case 0:
            CExtPaintManager::GradientFillRect(dc, rcFill, clrLight, clrDark, true);
            break;
        case 1:
            CExtPaintManager::GradientFillRect(dc, rcFill, clrDark, clrLight, true);
            break;
        case 2:
            CExtPaintManager::GradientFillRect(dc, rcFill, clrDark, clrLight, false);
            break;
        default:
            CExtPaintManager::GradientFillRect(dc, rcFill, clrLight, clrDark, false);
            break;
        }
        dc.RestoreDC(-1);
    }
    else
    {
        CBrush brFill(clrLight);
        dc.FillRgn(&rgn, &brFill);
    }
    // A band of the item's own dark tint inside a shadow outline.
    CBrush brDark(clrDark), brShadow(pPM->LookupColor(COLOR_3DSHADOW, this));
    dc.FrameRgn(&rgn, &brDark, 2, 2);
    dc.FrameRgn(&rgn, &brShadow, 1, 1);

    CRect rcContent(rcEntireItem);
    rcContent.DeflateRect(3, 2, 2, 1);
    if (bHorz)
        rcContent.left += (nItemIndex == 0) ? __ETW_ONENOTE_FIRST_SLANT : 0;
    else
    {
        rcContent.SetRect(rcEntireItem.left + 2, rcEntireItem.top + 3, rcEntireItem.right - 1,
                          rcEntireItem.bottom - 2);
        rcContent.top += (nItemIndex == 0) ? __ETW_ONENOTE_FIRST_SLANT : 0;
    }
    const bool bDrawIcon = (m_dwTabWndStyle & __ETWS_HIDE_ICONS) == 0 && pIcon != NULL && !pIcon->IsEmpty();
    if (!bDrawIcon && (m_dwTabWndStyle & __ETWS_CENTERED_TEXT) == 0)
    {
        // Without an icon the text keeps clear of the slanted edge.
        if (bHorz)
            rcContent.left += 4;
        else
            rcContent.top += 4;
    }
    const bool bEnabled = pTii == NULL || pTii->EnabledGet();
    PaintTabItemContent(pPM, dc, rcContent, bHorz, bEnabled, bCenteredText, bGroupedMode, bInGroupActive,
                        bInvertedVerticalMode, bDrawIcon, sizeTextMeasured.cx, sizeTextMeasured.cy, pFont, sText,
                        pIcon, pPM->LookupColor(bEnabled ? COLOR_BTNTEXT : COLOR_3DSHADOW, this));
    (void)rcTabItemsArea;
}
