// Layout of a popup menu: which items are shown, the content size, the rectangles of the
// items and of the service areas (scroll buttons, expand button, tear-off caption), hit
// testing and the item that keyboard navigation moves to. Item rectangles are cached by
// value in the items; every change of the scroll position empties the caches.
#include "toolkit/menus/popup_menu_wnd.h"

#include "toolkit/core/cmd_item.h"
#include "toolkit/core/cmd_tree.h"

#include <algorithm>

namespace {

typedef CExtPopupMenuWnd::MENUITEMDATA MENUITEMDATA;

int MarginL(const MENUITEMDATA& mi) { return mi.m_nMarginLeft < 0 ? 1 : mi.m_nMarginLeft; }
int MarginT(const MENUITEMDATA& mi) { return mi.m_nMarginTop < 0 ? 0 : mi.m_nMarginTop; }
int MarginR(const MENUITEMDATA& mi) { return mi.m_nMarginRight < 0 ? 1 : mi.m_nMarginRight; }
int MarginB(const MENUITEMDATA& mi) { return mi.m_nMarginBottom < 0 ? 1 : mi.m_nMarginBottom; }
int FullHeight(const MENUITEMDATA& mi) { return MarginT(mi) + mi.m_nHeight + MarginB(mi); }
int FullWidth(const MENUITEMDATA& mi) { return MarginL(mi) + mi.m_nWidth + MarginR(mi); }

// The width a palette row gives an item: an in-place edit part takes 3 more, and 3 more
// again unless it opens the row; every item is followed by the 2-pixel gap.
int PaletteAdvance(const MENUITEMDATA& mi, bool bFirstInRow)
{
    int n = mi.m_nWidth;
    if (mi.IsInplaceEdit())
    {
        n += 3;
        if (!bFirstInRow)
            n += 3;
    }
    return n + 2;
}

// The drop-down button of an in-place edit item is as wide in every theme.
const int kInplaceDropDownWidth = 15;

// The item's rectangle cache (with or without its indents), NULL for an item that is not
// displayed and so has no rectangle. A cache that is not empty answers the rectangle.
CRect* ItemRectCache(MENUITEMDATA& mi, bool bIncludeIndents, RECT& rcItem)
{
    if (!mi.IsDisplayed())
        return NULL;
    CRect& rcCache = bIncludeIndents ? mi.m_rcItemWithIndents : mi.m_rcItem;
    if (!rcCache.IsRectEmpty())
        rcItem = rcCache;
    return &rcCache;
}

}  // namespace

void CExtPopupMenuWnd::MENUITEMDATA::GetInplaceEditRect(RECT& rcEdit, const RECT& rcItem, bool bRTL) const
{
    rcEdit = rcItem;
    rcEdit.top += 2;
    rcEdit.bottom -= 2;
    const int w = IsInplaceEdit() ? m_nInplaceEditWidth : 0;
    if (!bRTL)
    {
        rcEdit.right -= 1;
        rcEdit.left = rcEdit.right - w;
    }
    else
    {
        rcEdit.left += 1;
        rcEdit.right = rcEdit.left + w;
    }
    if (IsPopup())
        rcEdit.right -= kInplaceDropDownWidth;
}

bool CExtPopupMenuWnd::IsContextHelpMode()
{
    for (CExtPopupMenuWnd* pMenu = this; pMenu != NULL; pMenu = pMenu->m_pParentMenu)
        if ((pMenu->m_dwTrackFlags & TMF_CONTEXT_HELP) != 0)
            return true;
    return false;
}

bool CExtPopupMenuWnd::IsShadowEnabled()
{
    if ((m_dwTrackFlags & TMF_NO_SHADOW) != 0)
        return false;
    return CExtPopupBaseWnd::IsShadowEnabled();
}

void CExtPopupMenuWnd::GetPaintRect(RECT& rc) { rc = m_rcMenu; }

void CExtPopupMenuWnd::ResetState()
{
    CExtPopupBaseWnd::ResetState();
    m_nPbwFlags &= ~0x02;
    m_nMenuFlags &= ~0x1F;
    m_nCurIndex = m_nHoverIndex = m_nMouseItem = -1;
    m_nScrollPos = 0;
    m_dwTrackFlags = 0;
    m_nExpandCounter = 0;
    m_nScrollingDelta = 0;
    m_rcScrollTop.SetRectEmpty();
    m_rcScrollBottom.SetRectEmpty();
    m_rcExpand.SetRectEmpty();
    m_rcTearOff.SetRectEmpty();
    m_nCombineSide = 0;
    m_pCbPaintCombinedCookie = NULL;
    m_pCbPaintCombinedContent = NULL;
    m_bCookieIsObject = false;
}

void CExtPopupMenuWnd::GetBorderMargins(RECT& rcMargins)
{
    ::SetRect(&rcMargins, 2, 2, 2, 2);
    if (CExtPaintManager* pPM = GetPaintManager())
        pPM->GetMenuBorderMargins(rcMargins, this);
}

int CExtPopupMenuWnd::GetTearOffCaptionHeight()
{
    CExtPaintManager* pPM = GetPaintManager();
    return (pPM != NULL) ? pPM->GetMenuTearOffCaptionHeight() : 8;
}

bool CExtPopupMenuWnd::IsTearOffEnabled()
{
    if ((m_dwTrackFlags & TMF_TEAROFF) != 0)
        return true;
    // Without the flag only a command-tree menu whose command carries a tear-off state
    // tears off; the command items of this toolkit have no such state, so a menu without
    // the flag never shows the caption.
    return false;
}

bool CExtPopupMenuWnd::IsItemSelectable(int nIndex) const
{
    if (nIndex < 0 || nIndex >= ItemGetCount())
        return false;
    const MENUITEMDATA& mi = m_items.ElementAt(nIndex);
    if (mi.IsSeparator())
        return false;
    if (mi.IsPopup())
    {
        if ((mi.m_nLayoutFlags & MENUITEMDATA::__MIF_NEVER_ENABLED) != 0)
            return false;
        if (mi.GetCmdItem() == NULL)
            return true;
    }
    return (mi.m_nStateFlags & (MENUITEMDATA::__MIS_FORCE_ENABLED | MENUITEMDATA::__MIS_ENABLED)) != 0;
}

void CExtPopupMenuWnd::InvalidateItemRects()
{
    for (int i = 0; i < ItemGetCount(); i++)
    {
        MENUITEMDATA& mi = m_items.ElementAt(i);
        mi.m_rcItem.SetRectEmpty();
        mi.m_rcItemWithIndents.SetRectEmpty();
    }
}

// ---- RecalcLayout -------------------------------------------------------------------------
void CExtPopupMenuWnd::RecalcLayout()
{
    if (IsPaletteLayout())
    {
        RecalcPaletteLayout();
        return;
    }
    const int nCount = ItemGetCount();
    int nIconArea = 22;
    for (int i = 0; i < nCount; i++)
        nIconArea = std::max(nIconArea, m_items.ElementAt(i).m_nIconAreaWidth);
    for (int i = 0; i < nCount; i++)
    {
        MENUITEMDATA& mi = m_items.ElementAt(i);
        mi.m_rcItem.SetRectEmpty();
        mi.m_rcItemWithIndents.SetRectEmpty();
        if (mi.IsPaletteStyle() || mi.m_nIconAreaWidth >= nIconArea)
            continue;
        const int nGrow = nIconArea - mi.m_nIconAreaWidth;
        mi.m_nIconAreaWidth = nIconArea;
        if (!mi.IsSeparator())
            mi.m_nWidth += nGrow;
    }
    m_nMenuFlags &= ~__MF_EXPAND_AREA;
    m_sizeContent = CSize(0, 0);
    int nShown = 0;
    int nPendingSeparator = -1;
    const bool bShowAll = IsExpanded() || (m_dwTrackFlags & TMF_EXPANDED) != 0;
    const bool bUntracked = IsUntrackedMode();
    for (int i = 0; i < nCount; i++)
    {
        MENUITEMDATA& mi = m_items.ElementAt(i);
        mi.m_nItemIndex = i;
        bool bShow = false;
        if (bShowAll)
        {
            bShow = true;
            nShown++;
            if (mi.IsPopup() && mi.m_pPopup != NULL)
                mi.m_pPopup->RecalcLayout();
        }
        else
        {
            if (mi.IsPopup())
            {
                if (mi.m_pPopup != NULL)
                    mi.m_pPopup->RecalcLayout();
                if (CExtCmdItem* pCmd = mi.GetCmdItem())
                    bShow = bUntracked || !pCmd->IsRarelyUsed();
                else if (mi.IsCustom())
                    bShow = true;
                else
                    bShow = mi.m_pPopup == NULL || !mi.m_pPopup->IsAllItemsHidden();
            }
            else if (mi.IsSeparator())
            {
                if (nPendingSeparator < 0 && nShown != 0)
                {
                    bShow = true;
                    nPendingSeparator = i;
                }
            }
            else
            {
                CExtCmdItem* pCmd = mi.GetCmdItem();
                bShow = pCmd == NULL || mi.m_pCbItemExtra != NULL || !pCmd->IsRarelyUsed();
            }
            if (bShow && !mi.IsSeparator())
            {
                nPendingSeparator = -1;
                nShown++;
            }
        }
        if (bShow)
            mi.m_nLayoutFlags |= MENUITEMDATA::__MIF_DISPLAYED;
        else
            mi.m_nLayoutFlags &= ~MENUITEMDATA::__MIF_DISPLAYED;
        if (!mi.IsDisplayed())
        {
            m_nMenuFlags |= __MF_EXPAND_AREA;
            continue;
        }
        m_sizeContent.cy += FullHeight(mi);
        m_sizeContent.cx = std::max((int)m_sizeContent.cx, FullWidth(mi));
    }
    if (nPendingSeparator >= 0)
    {
        MENUITEMDATA& mi = m_items.ElementAt(nPendingSeparator);
        mi.m_nLayoutFlags &= ~MENUITEMDATA::__MIF_DISPLAYED;
        if (!mi.IsDisplayed())
            m_sizeContent.cy -= FullHeight(mi);
    }
    if (m_sizeContent.cx < 80)
        m_sizeContent.cx = 80;
}

void CExtPopupMenuWnd::RecalcPaletteLayout()
{
    m_nMenuFlags &= ~__MF_EXPAND_AREA;
    m_sizeContent = CSize(0, 0);
    const int nCount = ItemGetCount();
    CExtPaintManager* pPM = GetPaintManager();
    for (int i = 0; i < nCount; i++)
    {
        MENUITEMDATA& mi = m_items.ElementAt(i);
        mi.m_rcItem.SetRectEmpty();
        mi.m_rcItemWithIndents.SetRectEmpty();
        if (!mi.IsPaletteStyle())
        {
            mi.m_nLayoutFlags |= MENUITEMDATA::__MIF_NO_LEFT_AREA;
            mi.MeasureItem(pPM);
        }
        mi.m_nLayoutFlags |= MENUITEMDATA::__MIF_DISPLAYED;
        mi.m_nItemIndex = i;
        bool bIconOnly = true;
        if (mi.m_pCmdNode == NULL && !mi.m_sText.IsEmpty())
            bIconOnly = false;
        if (mi.m_pCmdNode != NULL && (mi.m_pCmdNode->GetFlags() & 0x02) != 0)
            bIconOnly = false;
        if (bIconOnly)
            mi.m_nKindFlags |= MENUITEMDATA::__MIK_ICON_ONLY;
        else
            mi.m_nKindFlags &= ~MENUITEMDATA::__MIK_ICON_ONLY;
        mi.MeasureItem(pPM);
        if (mi.IsPopup() && mi.m_pPopup != NULL)
            mi.m_pPopup->RecalcLayout();
    }
    const int nSepLine = stat_GetSeparatorHeight(pPM);
    int nRowWidth = 0, nRowHeight = 0, nTotal = 0, nWidest = 0;
    bool bFirst = true;
    for (int i = 0; i < nCount; i++)
    {
        const MENUITEMDATA& mi = m_items.ElementAt(i);
        if (!mi.IsDisplayed())
            continue;
        nRowHeight = std::max(nRowHeight, mi.m_nHeight);
        nRowWidth += PaletteAdvance(mi, bFirst);
        bFirst = false;
        nWidest = std::max(nWidest, nRowWidth);
        if (IsPaletteRowEnd(i) || mi.IsSeparator())
        {
            nTotal += nRowHeight;
            nRowWidth = nRowHeight = 0;
            if (mi.IsSeparator())
                nTotal += 3 + nSepLine;
        }
    }
    CRect rcM;
    GetBorderMargins(rcM);
    m_sizeContent.cx = std::max(nWidest, nRowWidth) + rcM.left + rcM.right + 3;
    m_sizeContent.cy = nTotal + nRowHeight + 3;
    m_sizeContent.cx = std::max((int)m_sizeContent.cx, 20);
    m_sizeContent.cy = std::max((int)m_sizeContent.cy, 10);
}

bool CExtPopupMenuWnd::IsPaletteRowEnd(int nIndex) const
{
    if (!IsPaletteLayout() || nIndex < 0 || nIndex >= ItemGetCount())
        return false;
    if (nIndex + 1 < ItemGetCount() && m_items.ElementAt(nIndex + 1).IsSeparator())
        return true;
    return (m_items.ElementAt(nIndex).m_nLayoutFlags & MENUITEMDATA::__MIF_PALETTE_WRAP) != 0;
}

void CExtPopupMenuWnd::PaletteWrapItems(bool bWrap, int nFrom, int nTo)
{
    const int nCount = ItemGetCount();
    if (!IsPaletteLayout() || nFrom < 0 || nFrom >= nCount)
        return;
    if (nTo < 0 || nTo >= nCount)
        nTo = nCount - 1;
    if (nFrom >= nTo)
        return;
    int nTotal = 0;
    for (int i = nFrom; i <= nTo; i++)
    {
        MENUITEMDATA& mi = m_items.ElementAt(i);
        mi.m_nLayoutFlags &= ~MENUITEMDATA::__MIF_PALETTE_WRAP;
        if (!mi.IsSeparator() && !mi.IsPopup())
            nTotal += mi.m_nWidth + 6;
    }
    if (!bWrap || nTotal < 150)
        return;
    const int nTarget = std::max(150, nTotal * 25 / 100);
    int nRun = 0;
    for (int i = nFrom; i <= nTo; i++)
    {
        MENUITEMDATA& mi = m_items.ElementAt(i);
        if (mi.IsSeparator())
        {
            nRun = 0;
            continue;
        }
        if (mi.IsPopup())
            continue;
        if (nRun < nTarget)
            nRun += mi.m_nWidth + 6;
        if (nRun >= nTarget)
        {
            if (i == nFrom)
            {
                mi.m_nLayoutFlags |= MENUITEMDATA::__MIF_PALETTE_WRAP;
                nRun = 0;
            }
            else
            {
                m_items.ElementAt(i - 1).m_nLayoutFlags |= MENUITEMDATA::__MIF_PALETTE_WRAP;
                nRun = mi.m_nWidth + 6;
            }
        }
    }
}

// ---- service areas ----------------------------------------------------------------------
void CExtPopupMenuWnd::RecalcServiceAreas()
{
    m_rcScrollTop.SetRectEmpty();
    m_rcScrollBottom.SetRectEmpty();
    m_rcExpand.SetRectEmpty();
    m_rcTearOff.SetRectEmpty();
    CRect rcP;
    GetPaintRect(rcP);
    CRect rcM;
    GetBorderMargins(rcM);
    const int L = (int)m_nLeftAreaWidth;
    CExtPaintManager* pPM = GetPaintManager();
    const int h = (pPM != NULL) ? pPM->GetMenuCheckHeight() : ::GetSystemMetrics(SM_CYMENUCHECK);
    const bool bTearOff = IsTearOffEnabled();
    const int T = bTearOff ? GetTearOffCaptionHeight() : 0;
    if (HasExpandArea())
    {
        m_rcExpand.SetRect(rcP.left + rcM.left + L, rcP.bottom - rcM.bottom - h, rcP.right - rcM.right,
                           rcP.bottom - rcM.bottom);
        m_rcExpand.OffsetRect(0, -1);
    }
    if (IsScrollable())
    {
        m_rcScrollTop.SetRect(rcP.left + rcM.left + L + 1, rcP.top + rcM.top, rcP.right - rcM.right - 1,
                              rcP.top + rcM.top + h);
        m_rcScrollTop.OffsetRect(0, 1);
        m_rcScrollBottom.SetRect(rcP.left + rcM.left + L + 1, rcP.bottom - rcM.bottom - h, rcP.right - rcM.right - 1,
                                 rcP.bottom - rcM.bottom);
        m_rcScrollBottom.OffsetRect(0, -((HasExpandArea() ? h : 0) + 1));
        if (bTearOff)
        {
            m_rcScrollTop.OffsetRect(0, T);
            m_rcScrollBottom.OffsetRect(0, T);
        }
    }
    if (bTearOff)
    {
        m_rcTearOff.SetRect(rcP.left + rcM.left + L + 1, rcP.top + rcM.top, rcP.right - rcM.right - 1,
                            rcP.top + rcM.top + T);
        m_rcTearOff.OffsetRect(0, 1);
    }
}

// ---- rectangles ---------------------------------------------------------------------------
void CExtPopupMenuWnd::GetItemRect(int nIndex, RECT& rcItem, bool bIncludeIndents)
{
    ::SetRectEmpty(&rcItem);
    const int nCount = ItemGetCount();
    if (nIndex >= 0 && nIndex < nCount && IsPaletteLayout())
    {
        GetPaletteItemRect(nIndex, rcItem, bIncludeIndents);
        return;
    }
    if (IsScrollable() && (nIndex == IDX_SCROLL_TOP || nIndex == IDX_SCROLL_BOTTOM))
    {
        rcItem = (nIndex == IDX_SCROLL_TOP) ? m_rcScrollTop : m_rcScrollBottom;
        return;
    }
    if (HasExpandArea() && nIndex == IDX_EXPAND)
    {
        rcItem = m_rcExpand;
        if (bIncludeIndents)
            ::InflateRect(&rcItem, -1, 0);
        return;
    }
    const bool bTearOff = IsTearOffEnabled();
    if (bTearOff && nIndex == IDX_TEAROFF)
    {
        rcItem = m_rcTearOff;
        if (bIncludeIndents)
            ::InflateRect(&rcItem, -1, 0);
        return;
    }
    if (nCount == 0 || nIndex < 0 || nIndex >= nCount)
        return;
    MENUITEMDATA& mi = m_items.ElementAt(nIndex);
    CRect* pCache = ItemRectCache(mi, bIncludeIndents, rcItem);
    if (pCache == NULL || !pCache->IsRectEmpty())
        return;
    CRect rcP;
    GetPaintRect(rcP);
    CRect rcM;
    GetBorderMargins(rcM);
    CRect rc;
    rc.left = rcM.left;
    rc.right = rcM.left + (mi.IsPaletteStyle() ? FullWidth(mi) : (int)m_sizeContent.cx);
    int y = m_nScrollPos + rcM.top + 1;
    for (int i = 0; i < nIndex; i++)
    {
        const MENUITEMDATA& miPrev = m_items.ElementAt(i);
        if (miPrev.IsDisplayed())
            y += FullHeight(miPrev) - ((i == nCount - 1) ? 1 : 0);
    }
    rc.top = y;
    rc.bottom = y + FullHeight(mi) - ((nIndex == nCount - 1) ? 1 : 0);
    if (bIncludeIndents)
    {
        rc.left += MarginL(mi);
        rc.right -= MarginR(mi);
        rc.top += MarginT(mi);
        rc.bottom -= MarginB(mi);
    }
    rc.OffsetRect(rcP.left + (int)m_nLeftAreaWidth, rcP.top);
    if (bTearOff)
        rc.OffsetRect(0, GetTearOffCaptionHeight());
    *pCache = rc;
    rcItem = rc;
}

void CExtPopupMenuWnd::GetPaletteItemRect(int nIndex, RECT& rcItem, bool bIncludeIndents)
{
    ::SetRectEmpty(&rcItem);
    const int nCount = ItemGetCount();
    if (nCount == 0)
        return;
    if (nIndex < 0 || nIndex >= nCount)
    {
        if (!IsPaletteLayout())
            GetItemRect(nIndex, rcItem, bIncludeIndents);
        else
        {
            // The service areas are the same in both layouts.
            m_dwTrackFlags &= ~TMF_PALETTE;
            GetItemRect(nIndex, rcItem, bIncludeIndents);
            m_dwTrackFlags |= TMF_PALETTE;
        }
        return;
    }
    MENUITEMDATA& mi = m_items.ElementAt(nIndex);
    CRect* pCache = ItemRectCache(mi, bIncludeIndents, rcItem);
    if (pCache == NULL || !pCache->IsRectEmpty())
        return;
    CRect rcM;
    GetBorderMargins(rcM);
    const int nSepLine = stat_GetSeparatorHeight(GetPaintManager());
    const int xStart = rcM.left + 2;
    int x = xStart, y = m_nScrollPos + rcM.top;
    // The height of the row that holds nIndex: walk that row to its end.
    int nRowStart = 0;
    bool bFirst = true;
    for (int i = 0; i < nIndex; i++)
    {
        const MENUITEMDATA& miPrev = m_items.ElementAt(i);
        if (!miPrev.IsDisplayed())
            continue;
        x += PaletteAdvance(miPrev, bFirst);
        bFirst = false;
        if (IsPaletteRowEnd(i) || miPrev.IsSeparator())
        {
            int nRowHeight = 0;
            for (int j = nRowStart; j <= i; j++)
                if (m_items.ElementAt(j).IsDisplayed())
                    nRowHeight = std::max(nRowHeight, m_items.ElementAt(j).m_nHeight);
            y += nRowHeight;
            if (miPrev.IsSeparator())
                y += 3 + nSepLine;
            x = xStart;
            bFirst = true;
            nRowStart = i + 1;
        }
    }
    CRect rc;
    if (mi.IsSeparator())
    {
        int nRowHeight = 0;
        for (int j = nRowStart; j < nIndex; j++)
            if (m_items.ElementAt(j).IsDisplayed())
                nRowHeight = std::max(nRowHeight, m_items.ElementAt(j).m_nHeight);
        y += nRowHeight;
        rc.SetRect(rcM.left, y, rcM.left + m_sizeContent.cx - rcM.left - rcM.right, y + 3 + nSepLine + 1);
    }
    else
    {
        int nRowHeight = 0;
        for (int j = nRowStart; j < nCount; j++)
        {
            const MENUITEMDATA& miRow = m_items.ElementAt(j);
            if (!miRow.IsDisplayed())
                continue;
            if (miRow.IsSeparator())
                break;
            nRowHeight = std::max(nRowHeight, miRow.m_nHeight);
            if (IsPaletteRowEnd(j))
                break;
        }
        rc.SetRect(x, y, x + mi.m_nWidth, y + mi.m_nHeight);
        rc.OffsetRect(0, (nRowHeight - mi.m_nHeight) / 2);
    }
    CRect rcP;
    GetPaintRect(rcP);
    rc.OffsetRect(rcP.left + (int)m_nLeftAreaWidth, rcP.top);
    if (IsTearOffEnabled())
        rc.OffsetRect(0, GetTearOffCaptionHeight());
    *pCache = rc;
    rcItem = rc;
}

int CExtPopupMenuWnd::GetScrollLimit()
{
    CRect rcP;
    GetPaintRect(rcP);
    CRect rcM;
    GetBorderMargins(rcM);
    int nVisible = rcP.Height() - rcM.top - rcM.bottom - 2;
    CExtPaintManager* pPM = GetPaintManager();
    const int h = (pPM != NULL) ? pPM->GetMenuCheckHeight() : ::GetSystemMetrics(SM_CYMENUCHECK);
    if (HasExpandArea())
        nVisible -= h;
    if (IsTearOffEnabled())
        nVisible -= GetTearOffCaptionHeight();
    return std::min(0, nVisible - (int)m_sizeContent.cy);
}

// ---- hit testing -----------------------------------------------------------------------------
int CExtPopupMenuWnd::HitTest(const POINT& ptClient, bool* pbInplaceEdit, bool* pbInplaceDropDown)
{
    if (pbInplaceEdit != NULL)
        *pbInplaceEdit = false;
    if (pbInplaceDropDown != NULL)
        *pbInplaceDropDown = false;
    if (GetSafeHwnd() == NULL)
        return IDX_NOTHING;
    CRect rcP;
    GetPaintRect(rcP);
    if (!rcP.PtInRect(ptClient))
        return IDX_NOTHING;
    if (IsScrollable())
    {
        CRect rc;
        GetItemRect(IDX_SCROLL_TOP, rc);
        if (m_nScrollPos != 0 && rc.PtInRect(ptClient))
            return IDX_SCROLL_TOP;
        GetItemRect(IDX_SCROLL_BOTTOM, rc);
        if (m_nScrollPos != GetScrollLimit() && rc.PtInRect(ptClient))
            return IDX_SCROLL_BOTTOM;
    }
    if (HasExpandArea() && m_rcExpand.PtInRect(ptClient))
        return IDX_EXPAND;
    if (IsTearOffEnabled() && m_rcTearOff.PtInRect(ptClient))
        return (IsUntrackedMode() || IsContextHelpMode()) ? IDX_NOTHING : IDX_TEAROFF;
    for (int i = 0; i < ItemGetCount(); i++)
    {
        MENUITEMDATA& mi = m_items.ElementAt(i);
        if (!mi.IsDisplayed())
            continue;
        CRect rc;
        GetItemRect(i, rc, true);
        if (!rc.PtInRect(ptClient))
            continue;
        if (mi.IsInplaceEdit() && (pbInplaceEdit != NULL || pbInplaceDropDown != NULL))
        {
            CRect rcEdit;
            mi.GetInplaceEditRect(rcEdit, rc, IsLayoutRTL());
            if (pbInplaceEdit != NULL && rcEdit.PtInRect(ptClient))
                *pbInplaceEdit = true;
            if (pbInplaceDropDown != NULL && mi.IsPopup())
            {
                const int d = kInplaceDropDownWidth;
                CRect rcDrop(rcEdit.right, rcEdit.top, rcEdit.right + d, rcEdit.bottom);
                if (rcDrop.PtInRect(ptClient))
                    *pbInplaceDropDown = true;
            }
        }
        return i;
    }
    return IDX_NOTHING;
}

// ---- size -----------------------------------------------------------------------------------
CSize& CExtPopupMenuWnd::CalcMenuSize(CSize& sizeMenu)
{
    CRect rcM;
    GetBorderMargins(rcM);
    const int D = GetShadowSize();
    CExtPaintManager* pPM = GetPaintManager();
    const int h = (pPM != NULL) ? pPM->GetMenuCheckHeight() : ::GetSystemMetrics(SM_CYMENUCHECK);
    sizeMenu.cx = m_sizeContent.cx + (int)m_nLeftAreaWidth + rcM.left + rcM.right + D;
    sizeMenu.cy = m_sizeContent.cy + (HasExpandArea() ? h : 0) + rcM.top + rcM.bottom + D;
    sizeMenu.cx = std::max((int)sizeMenu.cx, 2 * D + 10);
    sizeMenu.cy = std::max((int)sizeMenu.cy, 2 * D + 10);
    sizeMenu.cy += 1;
    bool bAnyDisplayed = false;
    for (int i = 0; i < ItemGetCount() && !bAnyDisplayed; i++)
        bAnyDisplayed = m_items.ElementAt(i).IsDisplayed();
    if (!bAnyDisplayed)
        sizeMenu.cy += 1;
    return sizeMenu;
}

// ---- navigation ------------------------------------------------------------------------------
int CExtPopupMenuWnd::FindNextItem(int nCode)
{
    const int nCount = ItemGetCount();
    const bool bExpandable = HasExpandArea() && !IsExpanded();
    const int nNone = bExpandable ? IDX_EXPAND : IDX_NOTHING;
    if (bExpandable && IsAllItemsHidden())
        return IDX_EXPAND;
    if (nCode == NEXT_EXPAND || nCount == 0)
        return nNone;
    auto bOk = [&](int i) { return m_items.ElementAt(i).IsDisplayed() && IsItemSelectable(i); };
    const int nCur = m_nCurIndex;
    if (nCode == NEXT_CURRENT && nCur >= 0)
        return nCur;
    if (nCur < 0 || nCur >= nCount)
    {
        for (int i = 0; i < nCount; i++)
            if (bOk(i))
                return i;
        return nNone;
    }
    if ((nCode == NEXT_ROW_NEXT || nCode == NEXT_ROW_PREV) &&
        (m_items.ElementAt(nCur).m_nKindFlags & MENUITEMDATA::__MIK_ICON_ONLY) == 0)
        nCode = (nCode == NEXT_ROW_NEXT) ? NEXT_NEXT : NEXT_PREV;
    if (nCode == NEXT_NEXT)
    {
        if (nCount < 2)
            return IDX_NOTHING;
        for (int i = nCur + 1; i < nCount; i++)
            if (bOk(i))
                return i;
        if (HasExpandArea())
            return IDX_EXPAND;
        for (int i = 0; i < nCur; i++)
            if (bOk(i))
                return i;
        return IDX_NOTHING;
    }
    if (nCode == NEXT_PREV)
    {
        if (nCount < 2)
            return IDX_NOTHING;
        for (int i = nCur - 1; i >= 0; i--)
            if (bOk(i))
                return i;
        for (int i = nCount - 1; i > nCur; i--)
            if (bOk(i))
                return i;
        return IDX_NOTHING;
    }
    if (nCode == NEXT_ROW_NEXT || nCode == NEXT_ROW_PREV)
    {
        if (nCount < 2)
            return (nCode == NEXT_ROW_NEXT && HasExpandArea()) ? IDX_EXPAND : IDX_NOTHING;
        const int nRowNone = HasExpandArea() ? IDX_EXPAND : IDX_NOTHING;
        CRect rcCur;
        GetItemRect(nCur, rcCur, false);
        auto bWrap = [&](int i) { return m_items.ElementAt(i).IsDisplayed() && ItemPaletteWrapGet(i); };
        int nLastCandidate = -1;
        if (nCode == NEXT_ROW_NEXT)
        {
            int nEnd = -1;
            for (int i = nCur; i < nCount && nEnd < 0; i++)
                if (bWrap(i))
                    nEnd = i;
            if (nEnd < 0)
                return nRowNone;
            bool bSeenInRow = false;
            for (int i = nEnd + 1; i < nCount; i++)
            {
                if (bOk(i))
                {
                    CRect rc;
                    GetItemRect(i, rc, false);
                    if (rc.left >= rcCur.left)
                        return i;
                    nLastCandidate = i;
                    bSeenInRow = true;
                }
                if (bWrap(i) && bSeenInRow)
                    return nLastCandidate;
            }
            return (nLastCandidate >= 0) ? nLastCandidate : nRowNone;
        }
        int nStart = -1;
        for (int i = nCur - 1; i >= 0 && nStart < 0; i--)
            if (bWrap(i))
                nStart = i;
        if (nStart < 0)
            return nRowNone;
        for (int i = nStart; i >= 0; i--)
        {
            if (i != nStart && bWrap(i) && nLastCandidate >= 0)
                return nLastCandidate;
            if (bOk(i))
            {
                CRect rc;
                GetItemRect(i, rc, false);
                if (rc.right <= rcCur.right)
                    return i;
                nLastCandidate = i;
            }
        }
        return (nLastCandidate >= 0) ? nLastCandidate : nRowNone;
    }
    return IDX_NOTHING;
}

// ---- item records -----------------------------------------------------------------------------
void CExtPopupMenuWnd::CollectItemRects(CDC* pDC, ExpandEffectRectsArr_t& arr)
{
    if (IsPaletteLayout())
    {
        CollectPaletteItemRects(pDC, arr);
        return;
    }
    arr.RemoveAll();
    const bool bUntracked = IsUntrackedMode();
    for (int i = 0; i < ItemGetCount(); i++)
    {
        MENUITEMDATA& mi = m_items.ElementAt(i);
        if (!mi.IsDisplayed())
            continue;
        ExpandEffectRects_t rec;
        GetItemRect(i, rec.m_rcItemWithIndents, true);
        GetItemRect(i, rec.m_rcItem, false);
        if (rec.m_rcItem.IsRectEmpty())
            continue;
        if (pDC != NULL && pDC->GetSafeHdc() != NULL && !pDC->RectVisible(&rec.m_rcItem))
            continue;
        rec.m_nItemIndex = i;
        rec.m_nCmdID = mi.GetCmdID();
        rec.m_bSeparator = mi.IsSeparator();
        rec.m_bPopup = mi.IsPopup();
        if (!bUntracked && (mi.m_nLayoutFlags & MENUITEMDATA::__MIF_FORCE_DISPLAYED) == 0)
        {
            CExtCmdItem* pCmd = mi.GetCmdItem();
            if (mi.IsPopup())
            {
                if (pCmd != NULL)
                    rec.m_bRarelyUsed = pCmd->IsRarelyUsed();
                else if (!mi.IsCustom() && mi.m_pPopup != NULL)
                    rec.m_bRarelyUsed = mi.m_pPopup->IsAllItemsHidden();
            }
            else if (!mi.IsSeparator() && mi.m_pCbItemExtra == NULL && pCmd != NULL)
                rec.m_bRarelyUsed = pCmd->IsRarelyUsed();
        }
        arr.Add(rec);
    }
}

void CExtPopupMenuWnd::CollectPaletteItemRects(CDC* pDC, ExpandEffectRectsArr_t& arr)
{
    arr.RemoveAll();
    for (int i = 0; i < ItemGetCount(); i++)
    {
        MENUITEMDATA& mi = m_items.ElementAt(i);
        if (!mi.IsDisplayed())
            mi.m_nLayoutFlags |= MENUITEMDATA::__MIF_DISPLAYED;
    }
    for (int i = 0; i < ItemGetCount(); i++)
    {
        MENUITEMDATA& mi = m_items.ElementAt(i);
        ExpandEffectRects_t rec;
        GetItemRect(i, rec.m_rcItemWithIndents, true);
        if (rec.m_rcItemWithIndents.IsRectEmpty())
            continue;
        if (pDC != NULL && pDC->GetSafeHdc() != NULL && !pDC->RectVisible(&rec.m_rcItemWithIndents))
            continue;
        rec.m_rcItem = rec.m_rcItemWithIndents;
        rec.m_nItemIndex = i;
        rec.m_nCmdID = mi.GetCmdID();
        rec.m_bSeparator = mi.IsSeparator();
        rec.m_bPopup = mi.IsPopup();
        arr.Add(rec);
    }
}
