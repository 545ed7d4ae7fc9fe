// Painting of a popup menu: the background, the frame, the items, the service areas, the
// owner's left area, the border of a combined menu and the shadow, all through the current
// paint manager. The receiver may take over the background, the left area and single
// items through the three draw messages; it must answer them quickly and always the same
// way, as they come with every paint. The open animation frames are the base window's.
#include "toolkit/menus/popup_menu_wnd.h"
#include "toolkit/core/bitmap.h"

#include "toolkit/core/cmd_item.h"
#include "toolkit/core/cmd_tree.h"
#include "toolkit/theme/pm_menu_entry.h"
#include "toolkit/theme/pm_push_button.h"

#include <algorithm>
#include <stdlib.h>
#include <string.h>

namespace {

typedef CExtPopupMenuWnd::MENUITEMDATA MENUITEMDATA;

CExtPaintManager* MenuPM(CExtPopupMenuWnd* pMenu)
{
    CExtPaintManager* pPM = pMenu->GetPaintManager();
    return (pPM != NULL) ? pPM : g_CurrentPaintManager.GetPM();
}

// The flags of an item's draw record: notify the receiver first, the item opens a sub-menu.
BYTE ItemDrawFlags(bool bNotify, bool bPopup)
{
    BYTE nFlags = 0;
    if (bNotify)
        nFlags |= CExtPopupMenuWnd::DRAWITEMDATA::__DIF_NOTIFY;
    if (bPopup)
        nFlags |= CExtPopupMenuWnd::DRAWITEMDATA::__DIF_POPUP;
    return nFlags;
}

// A palette cell shows no icon and no text for an in-place edit (the edit fills it), and
// no text for an icon-only item that has its icon.
void PaintPaletteItemDefault(CExtPopupMenuWnd::DRAWITEMDATA& did, MENUITEMDATA& mi)
{
    bool bNoIcon = false, bNoText = false;
    if (mi.IsInplaceEdit())
        bNoIcon = bNoText = true;
    else if ((mi.m_nKindFlags & MENUITEMDATA::__MIK_ICON_ONLY) != 0)
    {
        CExtCmdIcon* pIcon = mi.GetIcon();
        bNoText = pIcon != NULL && !pIcon->IsEmpty();
    }
    did.PaintDefault(bNoIcon, bNoText, false, false, false);
}

}  // namespace

// ---- the item record ----------------------------------------------------------------------
bool CExtPopupMenuWnd::DRAWITEMDATA::Notify()
{
    HWND hWnd = (m_pPopup != NULL) ? m_pPopup->GetCmdReceiverHWND() : NULL;
    if (hWnd == NULL || !::IsWindow(hWnd))
        return false;
    return ::SendMessage(hWnd, g_nMsgPopupDrawItem, 0, (LPARAM)this) != 0;
}

bool CExtPopupMenuWnd::IsOwnerDrawNotifyOn()
{
    if (IsUntrackedMode())
        return false;
    CExtPopupMenuWnd* pTop = g_PopupTrackingSite.GetInstance();
    return pTop != NULL && (pTop->GetTrackFlags() & TMF_OWNER_DRAW) != 0;
}

void CExtPopupMenuWnd::DRAWITEMDATA::PaintDefault(bool bNoIcon, bool bNoText, bool bNoCheck, bool bForceEnabled,
                                                  bool bForceUnselected)
{
    if (m_pDC == NULL || m_pItemData == NULL || m_pPopup == NULL)
        return;
    MENUITEMDATA& mi = const_cast<MENUITEMDATA&>(*m_pItemData);
    CExtPaintManager* pPM = MenuPM(m_pPopup);
    if (pPM == NULL)
        return;
    CDC& dc = *m_pDC;
    const bool bUntracked = m_pPopup->IsUntrackedMode();
    if (bUntracked)
    {
        bNoCheck = true;
        bForceEnabled = true;
        if (!mi.IsPopup())
            bForceUnselected = true;
    }
    HFONT hFontBold = mi.IsDefault() ? (HFONT)pPM->m_FontBold.GetSafeHandle() : NULL;
    const BYTE nState = mi.m_nStateFlags;
    if (mi.IsPaletteStyle() && !mi.IsInplaceEdit())
    {
        const bool bSelected = mi.IsSelected();
        bool bHover = bSelected && !bForceUnselected;
        bool bOpen = false, bPushed = false;
        if (bHover && mi.IsPopup())
        {
            CExtPopupMenuWnd* pSub = mi.m_pPopup;
            if (pSub != NULL && pSub->GetSafeHwnd() != NULL && pSub->IsWindowVisible())
            {
                bHover = false;
                bOpen = true;
            }
            else
                bPushed = true;
        }
        if (!bNoCheck && (nState & (MENUITEMDATA::__MIS_CHECKED | MENUITEMDATA::__MIS_RADIO)) != 0)
            bPushed = true;
        const bool bEnabled =
            bForceEnabled || m_pPopup->IsItemSelectable(mi.m_nItemIndex) ||
            (nState & (MENUITEMDATA::__MIS_FORCE_ENABLED | MENUITEMDATA::__MIS_FLAG_04)) != 0;
        CExtCmdIcon* pIcon = bNoIcon ? NULL : mi.GetIcon();
        if (pIcon != NULL && pIcon->IsEmpty())
            pIcon = NULL;
        CString sText = bNoText ? CString() : mi.GetText();
        CExtPaintManager::PAINTBUTTONDATA pbd(m_pPopup, true, *m_pRectItemWithIndents, sText, pIcon, true, bHover,
                                              bPushed, false, bEnabled, bSelected || bPushed || bHover, false, false,
                                              8, hFontBold, mi.IsPopup(), 0, !bSelected);
        if (bOpen)
            pbd.m_bTransparentBackground = true;
        if (!bNoCheck && (nState & (MENUITEMDATA::__MIS_CHECKED | MENUITEMDATA::__MIS_RADIO)) != 0)
            pbd.m_bTransparentBackground = false;
        pPM->DrawPushButton(dc, pbd);
        return;
    }
    CExtCmdIcon* pIcon = bNoIcon ? NULL : mi.GetIcon();
    if (pIcon != NULL && pIcon->IsEmpty())
        pIcon = NULL;
    bool bEnabled = bForceEnabled;
    if (!bEnabled && mi.IsPopup() && (mi.m_nLayoutFlags & MENUITEMDATA::__MIF_NEVER_ENABLED) == 0 &&
        mi.GetCmdItem() == NULL)
        bEnabled = true;
    if (!bEnabled && !mi.IsSeparator() &&
        (nState & (MENUITEMDATA::__MIS_FORCE_ENABLED | MENUITEMDATA::__MIS_ENABLED)) != 0)
        bEnabled = true;
    if (!bEnabled && (nState & (MENUITEMDATA::__MIS_FORCE_ENABLED | MENUITEMDATA::__MIS_FLAG_04)) != 0)
        bEnabled = true;
    const bool bRadio = !bNoCheck && !mi.IsSeparator() && (nState & MENUITEMDATA::__MIS_RADIO) != 0;
    const bool bChecked = !bNoCheck && !mi.IsSeparator() && (nState & MENUITEMDATA::__MIS_CHECKED) != 0;
    const bool bSelected = !bForceUnselected && mi.IsSelected();
    CString sText, sAccel;
    if (!bNoText)
    {
        sText = mi.GetText();
        sAccel = mi.GetAccelText();
    }
    const bool bIndeterminate =
        !mi.IsPopup() && !mi.IsSeparator() && (nState & MENUITEMDATA::__MIS_INDETERMINATE) != 0;
    const bool bRarely = (m_nFlags & __DIF_RARELY_USED) != 0;
    CExtPaintManager::PAINTMENUENTRYDATA pmed(
        m_pPopup, *m_pRectItemWithIndents, *m_pRectItem, mi.m_nIconAreaWidth, sText, sAccel, pIcon, mi.IsPopup(),
        bSelected, bChecked, bRadio, bIndeterminate, bEnabled, bRarely, (m_nFlags & __DIF_RARELY_PREV) != 0,
        (m_nFlags & __DIF_RARELY_NEXT) != 0, mi.GetCmdID(), hFontBold);
    if (mi.IsInplaceEdit())
    {
        mi.GetInplaceEditRect(pmed.m_rcInPlaceWnd, *m_pRectItemWithIndents, m_pPopup->IsLayoutRTL());
        pmed.m_sInPlaceText = mi.m_sEditText;
    }
    pPM->DrawMenuEntry(dc, pmed);
}

// ---- items ----------------------------------------------------------------------------------
void CExtPopupMenuWnd::DrawItems(CDC* pDC)
{
    if (pDC == NULL)
        return;
    if (IsPaletteLayout())
    {
        DrawPaletteItems(pDC);
        return;
    }
    CExtPaintManager* pPM = MenuPM(this);
    if (pPM == NULL)
        return;
    ExpandEffectRectsArr_t arr;
    CollectItemRects(pDC, arr);
    const bool bNotify = IsOwnerDrawNotifyOn();
    bool bAfterOwnWidth = false;
    for (int n = 0; n < arr.GetSize(); n++)
    {
        ExpandEffectRects_t& rec = arr.ElementAt(n);
        MENUITEMDATA& mi = m_items.ElementAt(rec.m_nItemIndex);
        if (rec.m_bSeparator)
        {
            if (bAfterOwnWidth)
                pPM->DrawSeparator(*pDC, rec.m_rcItem, false, true, this, 0);
            else
                pPM->DrawMenuSeparator(*pDC, rec.m_rcItem, mi.m_nIconAreaWidth,
                                       rec.m_bRarelyUsed && g_bHighlightRarelyUsed, this, 0);
            bAfterOwnWidth = false;
            continue;
        }
        BYTE nFlags = ItemDrawFlags(bNotify, rec.m_bPopup);
        if (g_bHighlightRarelyUsed)
        {
            if (rec.m_bRarelyUsed)
                nFlags |= DRAWITEMDATA::__DIF_RARELY_USED;
            if (rec.m_bFlag02)
                nFlags |= DRAWITEMDATA::__DIF_RARELY_PREV;
            if (rec.m_bFlag04)
                nFlags |= DRAWITEMDATA::__DIF_RARELY_NEXT;
        }
        DRAWITEMDATA did(pDC, &rec.m_rcItemWithIndents, &rec.m_rcItem, &mi, this, nFlags);
        if (!bNotify || !did.Notify())
            did.PaintDefault(false, false, false, false, false);
        PaintCustomizeMarks(pDC, rec.m_nItemIndex, rec.m_rcItemWithIndents);
        bAfterOwnWidth = mi.IsPaletteStyle();
    }
}

// The customize drag's insertion mark at the drop position, and the selection frame of
// the dragged item in an untracked menu.
void CExtPopupMenuWnd::PaintCustomizeMarks(CDC* pDC, int nIndex, const RECT& rcItemWithIndents)
{
    CExtPaintManager* pPM = MenuPM(this);
    if (pPM == NULL || pDC == NULL)
        return;
    const int nCount = ItemGetCount();
    if (m_nDropPos >= 0)
    {
        CSize sizeMark;
        pPM->GetDropMarkSize(sizeMark);
        const bool bBefore = m_nDropPos == nIndex;
        const bool bAfter = (nIndex == nCount - 1 && m_nDropPos == nCount) ||
                            (m_nDropPos == nIndex + 1 && nIndex + 1 < nCount && m_items.ElementAt(nIndex + 1).IsSeparator());
        if (bBefore || bAfter)
        {
            CRect rcMark(rcItemWithIndents);
            if (bBefore)
                rcMark.bottom = rcMark.top + sizeMark.cy;
            else
                rcMark.top = rcMark.bottom - sizeMark.cy;
            pPM->DrawDropMark(*pDC, rcMark, true);
        }
    }
    if (IsUntrackedMode() && nIndex >= 0 && nIndex < nCount)
    {
        CExtCustomizeSite* pSite = GetCustomizeSite();
        CExtCustomizeCmdTreeNode* pNode = m_items.ElementAt(nIndex).m_pCmdNode;
        if (pSite != NULL && pNode != NULL && pSite->DraggedNodeGet() == pNode)
            pPM->DrawCustomizeSelection(*pDC, rcItemWithIndents);
    }
}

void CExtPopupMenuWnd::DrawPaletteItems(CDC* pDC)
{
    if (pDC == NULL)
        return;
    CExtPaintManager* pPM = MenuPM(this);
    if (pPM == NULL)
        return;
    ExpandEffectRectsArr_t arr;
    CollectPaletteItemRects(pDC, arr);
    const bool bNotify = IsOwnerDrawNotifyOn();
    for (int n = 0; n < arr.GetSize(); n++)
    {
        ExpandEffectRects_t& rec = arr.ElementAt(n);
        MENUITEMDATA& mi = m_items.ElementAt(rec.m_nItemIndex);
        if (rec.m_bSeparator)
        {
            pPM->DrawSeparator(*pDC, rec.m_rcItem, false, true, this, 0);
            continue;
        }
        DRAWITEMDATA did(pDC, &rec.m_rcItemWithIndents, &rec.m_rcItem, &mi, this, ItemDrawFlags(bNotify, rec.m_bPopup));
        if (bNotify && did.Notify())
            continue;
        PaintPaletteItemDefault(did, mi);
    }
}

void CExtPopupMenuWnd::PaintParentItemCombined(int nParentItem, CDC* pDC, CExtPopupMenuWnd* pSubMenu,
                                               const RECT* pRect)
{
    if (pDC == NULL || pSubMenu == NULL || pRect == NULL || ::IsRectEmpty(pRect))
        return;
    if (nParentItem < 0 || nParentItem >= ItemGetCount() || pSubMenu->GetSafeHwnd() == NULL)
        return;
    MENUITEMDATA& mi = m_items.ElementAt(nParentItem);
    CRect rcWithIndents, rcItem;
    GetItemRect(nParentItem, rcWithIndents, true);
    GetItemRect(nParentItem, rcItem, false);
    CPoint ptTarget(pRect->left, pRect->top);
    pSubMenu->ScreenToClient(&ptTarget);
    const CPoint ptShift(ptTarget.x - rcWithIndents.left, ptTarget.y - rcWithIndents.top);
    rcWithIndents.OffsetRect(ptShift);
    rcItem.OffsetRect(ptShift);
    CRect rcSubPaint;
    pSubMenu->GetPaintRect(rcSubPaint);
    pDC->ExcludeClipRect(&rcSubPaint);
    const bool bNotify = IsOwnerDrawNotifyOn();
    DRAWITEMDATA did(pDC, &rcWithIndents, &rcItem, &mi, this, ItemDrawFlags(bNotify, mi.IsPopup()));
    if (!bNotify || !did.Notify())
    {
        if (IsPaletteLayout())
            PaintPaletteItemDefault(did, mi);
        else
            did.PaintDefault(false, false, false, false, false);
    }
    pDC->SelectClipRgn(NULL);
}

// ---- the whole menu ---------------------------------------------------------------------------
void CExtPopupMenuWnd::OnPaintMenu(CDC& dcTarget, bool bUseMemoryDC)
{
    CExtPaintManager* pPM = MenuPM(this);
    if (pPM == NULL || dcTarget.GetSafeHdc() == NULL)
        return;
    if (GetSafeHwnd() != NULL)
        CExtPaintManager::ClipOutChildren(&dcTarget, m_hWnd);
    CRect rcMargins;
    GetBorderMargins(rcMargins);
    CRect rcClient(0, 0, 0, 0);
    if (GetSafeHwnd() != NULL)
        GetClientRect(&rcClient);
    CRect rcPaint;
    GetPaintRect(rcPaint);

    PaintBuffer buffer(dcTarget, rcClient, bUseMemoryDC);
    CDC& dc = buffer.DC();
    CFont* pOldFont = dc.SelectObject(&pPM->m_FontNormal);
    PaintMenuBackground(dc, rcPaint, pPM);
    ExcludeServiceAreasFromClip(dc, rcClient, rcPaint, rcMargins);
    DrawItems(&dc);
    dc.SelectClipRgn(NULL);
    PaintServiceAreas(dc, pPM);
    PaintLeftArea(dc, rcPaint, rcMargins);
    const bool bCombined = (m_nPbwFlags & __PBW_FLAG_COMBINED) != 0 && GetSafeHwnd() != NULL;
    if (bCombined)
        PaintCombinedBorder(dc, rcPaint, pPM);
    dc.SelectObject(pOldFont);
    buffer.CopyToTarget(rcPaint);
    // The shadow and the combined border go straight to the target: the shadow lies
    // outside the paint rectangle the memory bitmap gives back.
    if (IsShadowEnabled() && IsAnimationDone() && GetShadowSize() > 0 && GetSafeHwnd() != NULL)
        PaintMenuShadow(dcTarget, rcPaint, bCombined, pPM);
    if (bCombined)
        PaintCombinedBorder(dcTarget, rcPaint, pPM);
}

CExtPopupMenuWnd::PaintBuffer::PaintBuffer(CDC& dcTarget, const CRect& rcClient, bool bWanted)
    : m_dcTarget(dcTarget), m_pOldBmp(NULL), m_pDC(&dcTarget)
{
    if (bWanted && !rcClient.IsRectEmpty() && m_dcMem.CreateCompatibleDC(&dcTarget) &&
        m_bmpMem.CreateCompatibleBitmap(&dcTarget, rcClient.Width(), rcClient.Height()))
    {
        m_pOldBmp = m_dcMem.SelectObject(&m_bmpMem);
        m_dcMem.BitBlt(0, 0, rcClient.Width(), rcClient.Height(), &dcTarget, 0, 0, SRCCOPY);
        m_pDC = &m_dcMem;
    }
}

CExtPopupMenuWnd::PaintBuffer::~PaintBuffer()
{
    if (m_pDC == &m_dcMem)
        m_dcMem.SelectObject(m_pOldBmp);
}

void CExtPopupMenuWnd::PaintBuffer::CopyToTarget(const CRect& rc)
{
    if (m_pDC == &m_dcMem)
        m_dcTarget.BitBlt(rc.left, rc.top, rc.Width(), rc.Height(), &m_dcMem, rc.left, rc.top, SRCCOPY);
}

// The receiver may paint the background or the frame itself; otherwise the theme's menu
// colour (or a palette's window background) fills it and the theme frames it.
void CExtPopupMenuWnd::PaintMenuBackground(CDC& dc, const CRect& rcPaint, CExtPaintManager* pPM)
{
    DRAWBACKGROUNDDATA dbd(dc, rcPaint, this);
    if (m_hWndCmdReceiver != NULL && ::IsWindow(m_hWndCmdReceiver))
        ::SendMessage(m_hWndCmdReceiver, g_nMsgPopupDrawBackground, 0, (LPARAM)&dbd);
    if ((dbd.m_nFlags & 0x01) == 0)
    {
        COLORREF clrFill = COLORREF(-1);
        if (IsPaletteLayout() && (m_dwTrackFlags & TMF_PALETTE_BK) != 0)
        {
            CRgn rgn;
            rgn.CreateRectRgnIndirect(&rcPaint);
            dc.SelectClipRgn(&rgn);
            if (!pPM->DrawWindowBackground(true, dc, this, 0))
                clrFill = pPM->LookupColor(1000, this);
            dc.SelectClipRgn(NULL);
        }
        else
            clrFill = pPM->LookupColor(pPM->GetThemeId() == CExtPaintManager::ThemeIdBase ? 1000 : 2001, this);
        if (clrFill != COLORREF(-1))
            dc.FillSolidRect(&rcPaint, clrFill);
    }
    if ((dbd.m_nFlags & 0x02) == 0)
        pPM->DrawMenuFrame(dc, rcPaint, this, 0);
}

// Items never paint over the service areas and the borders.
void CExtPopupMenuWnd::ExcludeServiceAreasFromClip(CDC& dc, const CRect& rcClient, const CRect& rcPaint,
                                                   const CRect& rcMargins)
{
    if (HasExpandArea())
    {
        dc.ExcludeClipRect(&m_rcExpand);
        dc.ExcludeClipRect(rcClient.left, m_rcExpand.top, rcClient.right, m_rcExpand.bottom);
    }
    if (IsTearOffEnabled())
    {
        dc.ExcludeClipRect(&m_rcTearOff);
        dc.ExcludeClipRect(rcClient.left, m_rcTearOff.top, rcClient.right, m_rcTearOff.bottom);
    }
    if (IsScrollable())
    {
        if (m_nScrollPos != 0)
            dc.ExcludeClipRect(rcClient.left, m_rcScrollTop.top - 1, rcClient.right, m_rcScrollTop.bottom + 1);
        if (m_nScrollPos != GetScrollLimit())
            dc.ExcludeClipRect(rcClient.left, m_rcScrollBottom.top - 1, rcClient.right,
                               m_rcScrollBottom.bottom + 1);
    }
    if (rcPaint.top >= rcClient.top)
        dc.ExcludeClipRect(rcClient.left, rcClient.top, rcClient.right, rcPaint.top + rcMargins.top);
    if (rcPaint.bottom <= rcClient.bottom)
        dc.ExcludeClipRect(rcClient.left, rcPaint.bottom - rcMargins.bottom, rcClient.right, rcClient.bottom);
}

// The expand button, the tear-off caption and the scroll buttons, hot under the pointer.
void CExtPopupMenuWnd::PaintServiceAreas(CDC& dc, CExtPaintManager* pPM)
{
    CPoint ptCursor(-32000, -32000);
    if (GetSafeHwnd() != NULL && ::GetCursorPos(&ptCursor))
        ScreenToClient(&ptCursor);
    if (HasExpandArea())
    {
        const bool bHover = g_pActiveTearOff == NULL && m_rcExpand.PtInRect(ptCursor);
        pPM->DrawMenuExpandButton(dc, m_rcExpand, bHover, bHover, this, 0);
    }
    if (IsTearOffEnabled())
    {
        const bool bHover = m_rcTearOff.PtInRect(ptCursor) && !IsUntrackedMode();
        pPM->DrawMenuTearOffCaption(dc, m_rcTearOff, bHover, bHover, this, 0);
    }
    if (IsScrollable())
    {
        if (m_nScrollPos != 0)
        {
            const bool bHover = m_rcScrollTop.PtInRect(ptCursor) && g_pActiveTearOff == NULL;
            pPM->DrawMenuScrollButton(dc, bHover, m_nScrollingDelta > 0, true, &m_rcScrollTop, this, 0);
        }
        if (m_nScrollPos != GetScrollLimit())
        {
            const bool bHover = m_rcScrollBottom.PtInRect(ptCursor) && g_pActiveTearOff == NULL;
            pPM->DrawMenuScrollButton(dc, bHover, m_nScrollingDelta < 0, false, &m_rcScrollBottom, this, 0);
        }
    }
}

// The owner's strip beside the items, painted by the receiver.
void CExtPopupMenuWnd::PaintLeftArea(CDC& dc, const CRect& rcPaint, const CRect& rcMargins)
{
    if (m_nLeftAreaWidth <= 0)
        return;
    CRect rcLeft(rcPaint.left, rcPaint.top + rcMargins.top, rcPaint.left + (int)m_nLeftAreaWidth,
                 rcPaint.bottom - rcMargins.bottom);
    rcLeft.OffsetRect(rcMargins.left, 0);
    DRAWLEFTAREADATA dla(&dc, &rcLeft, this);
    if (m_hWndCmdReceiver != NULL && ::IsWindow(m_hWndCmdReceiver))
        ::SendMessage(m_hWndCmdReceiver, g_nMsgPopupDrawLeftArea, 0, (LPARAM)&dla);
}

// The border of a menu combined with its owner, and the owner's part through the callback.
void CExtPopupMenuWnd::PaintCombinedBorder(CDC& dc, const CRect& rcPaint, CExtPaintManager* pPM)
{
    dc.SelectClipRgn(NULL);
    CRect rcWnd;
    GetWindowRect(&rcWnd);
    ScreenToClient(&rcWnd);
    pPM->DrawMenuBorder(dc, rcWnd, rcPaint, m_nCombineSide, this, 0);
    if (m_pCbPaintCombinedContent != NULL)
        m_pCbPaintCombinedContent(m_pCbPaintCombinedCookie, dc, *this, rcWnd, m_nCombineSide);
}

void CExtPopupMenuWnd::PaintMenuShadow(CDC& dcTarget, const CRect& rcPaint, bool bCombined, CExtPaintManager* pPM)
{
    const int nShadow = GetShadowSize();
    dcTarget.SelectClipRgn(NULL);
    HWND hWndTearOff = NULL;
    CRect rcEmpty(0, 0, 0, 0);
    if (bCombined && IsTopLevel() && m_pParentMenu == NULL)
    {
        // The owner button's part casts its own shadow; neither shadow darkens the
        // edge the menu and the button share.
        CRect rcOwner(m_rcWndArea);
        ScreenToClient(&rcOwner);
        dcTarget.ExcludeClipRect(&rcPaint);
        dcTarget.ExcludeClipRect(&rcOwner);
        m_shadowCombined.Paint(pPM, dcTarget, rcOwner, rcOwner, rcPaint, nShadow, 75, 100, true, true, false, m_hWnd,
                               hWndTearOff, NULL);
        dcTarget.SelectClipRgn(NULL);
        dcTarget.ExcludeClipRect(&rcPaint);
        dcTarget.ExcludeClipRect(&rcOwner);
        m_shadow.Paint(pPM, dcTarget, rcPaint, rcOwner, rcPaint, nShadow, 75, 100, true, true, false, m_hWnd,
                       hWndTearOff, NULL);
    }
    else
    {
        dcTarget.ExcludeClipRect(&rcPaint);
        m_shadow.Paint(pPM, dcTarget, rcPaint, rcEmpty, rcEmpty, nShadow, 75, 100, true, true, false, m_hWnd,
                       hWndTearOff, NULL);
    }
    dcTarget.SelectClipRgn(NULL);
}

// ---- the open animation -------------------------------------------------------------------------
namespace {

bool IsBlendingKind(int nKind)
{
    switch (nKind)
    {
    case -2:
    case -1:
    case 2:
    case 3:
    case 5:
    case 6:
    case 7:
    case 8:
    case 9:
    case 10: return true;
    case 4: return CExtPaintManager::GetScreenBitsPerPixel() > 8;
    default: return false;
    }
}

// The three buffers of the open animation: the screen before (0), the menu after (1) and
// the composed frame (2), each selected into the memory DC in turn.
class AnimationBuffers
{
public:
    AnimationBuffers(CDC& dc, CDC& dcMem, CBitmap* pBitmaps, int cx, int cy)
        : m_dc(dc), m_dcMem(dcMem), m_pBitmaps(pBitmaps), m_cx(cx), m_cy(cy)
    {
    }
    CDC& Target() { return m_dc; }
    void ShowBefore() { Show(0); }
    void ShowFrame() { Show(2); }
    // Runs fn with the menu's after image selected into MemDC().
    template <class Fn> void WithAfter(Fn fn)
    {
        CBitmap* pOldBmp = m_dcMem.SelectObject(&m_pBitmaps[1]);
        fn();
        m_dcMem.SelectObject(pOldBmp);
    }
    CDC& MemDC() { return m_dcMem; }

private:
    void Show(int nBuffer)
    {
        CBitmap* pOldBmp = m_dcMem.SelectObject(&m_pBitmaps[nBuffer]);
        m_dc.BitBlt(0, 0, m_cx, m_cy, &m_dcMem, 0, 0, SRCCOPY);
        m_dcMem.SelectObject(pOldBmp);
    }

    CDC& m_dc;
    CDC& m_dcMem;
    CBitmap* m_pBitmaps;
    int m_cx, m_cy;
};

// Fades: each channel weighted between before and after by the percentage.
void BlendFramePixels(const COLORREF* pBefore, const COLORREF* pAfter, COLORREF* pFrame, size_t nPixels, int nPercent)
{
    for (size_t i = 0; i < nPixels; i++)
    {
        const COLORREF clrBefore = pBefore[i], clrAfter = pAfter[i];
        const DWORD nRed = ((clrBefore & 0xFF) * (100 - nPercent) + (clrAfter & 0xFF) * nPercent) / 100;
        const DWORD nGreen = (((clrBefore >> 8) & 0xFF) * (100 - nPercent) + ((clrAfter >> 8) & 0xFF) * nPercent) / 100;
        const DWORD nBlue =
            (((clrBefore >> 16) & 0xFF) * (100 - nPercent) + ((clrAfter >> 16) & 0xFF) * nPercent) / 100;
        pFrame[i] = nRed | (nGreen << 8) | (nBlue << 16);
    }
}

// The pattern kinds: random noise (7), a growing 32-pixel box pattern (8), growing (9) or
// shrinking (10) circles in 32-pixel cells. Each pixel shows before or after.
void ComposePatternFramePixels(int nKind, int nPercent, int nPercentOld, const COLORREF* pBefore,
                               const COLORREF* pAfter, COLORREF* pFrame, int cx, int cy)
{
    if (nKind == 7)
    {
        const int nStep = nPercent - nPercentOld;
        if (nStep > 0)
            for (size_t i = 0; i < (size_t)cx * cy; i++)
                if (rand() % nStep > nStep / 2 + 1)
                    pFrame[i] = pAfter[i];
        return;
    }
    const int nRadius = (nKind == 9) ? nPercent * 16 / 100 : (nKind == 10) ? (100 - nPercent) * 16 / 100 : 0;
    for (int y = 0; y < cy; y++)
    {
        const bool bRowBefore = nKind == 8 && 100 - (y % 32) * 100 / 32 < nPercent;
        for (int x = 0; x < cx; x++)
        {
            const size_t i = (size_t)y * cx + x;
            bool bAfter;
            if (nKind == 8)
                bAfter = !bRowBefore && (x % 32) * 100 / 32 < nPercent;
            else
            {
                const int dx = x % 32 - 16, dy = y % 32 - 16;
                const bool bInside = dx * dx + dy * dy < nRadius * nRadius;
                bAfter = (nKind == 9) ? bInside : !bInside;
            }
            pFrame[i] = bAfter ? pAfter[i] : pBefore[i];
        }
    }
}

// Slides (2 from the corner, 3 from the top edge or, above the owner, from the bottom).
void PaintSlideFrame(AnimationBuffers& buffers, const CRect& rcPaint, int nKind, int nPercent, int nCombineSide)
{
    CDC& dc = buffers.Target();
    const int nWidth = rcPaint.Width(), nHeight = rcPaint.Height();
    buffers.ShowBefore();
    const int nHiddenHeight = (100 - nPercent) * nHeight / 100;
    const int nHiddenWidth = (nKind == 2) ? (100 - nPercent) * nWidth / 100 : 0;
    const int yFrom = (nCombineSide == 2) ? rcPaint.top + nHiddenHeight : rcPaint.top - nHiddenHeight;
    const int xFrom = (nCombineSide == 3) ? rcPaint.left + nHiddenWidth : rcPaint.left - nHiddenWidth;
    CRgn rgn;
    rgn.CreateRectRgnIndirect(&rcPaint);
    dc.SelectClipRgn(&rgn);
    buffers.WithAfter(
        [&] { dc.BitBlt(xFrom, yFrom, nWidth, nHeight, &buffers.MemDC(), rcPaint.left, rcPaint.top, SRCCOPY); });
    dc.SelectClipRgn(NULL);
}

// Unfolds (5 both ways, 6 downwards, or upwards above the owner) by stretching.
void PaintStretchFrame(AnimationBuffers& buffers, const CRect& rcPaint, int nKind, int nPercent, int nCombineSide)
{
    CDC& dc = buffers.Target();
    const int nWidth = rcPaint.Width(), nHeight = rcPaint.Height();
    buffers.ShowBefore();
    const int nShownWidth = (nKind == 5) ? nWidth * nPercent / 100 : nWidth;
    const int nShownHeight = nHeight * nPercent / 100;
    const int yTop = (nCombineSide == 2) ? rcPaint.bottom - nShownHeight : rcPaint.top;
    const int nOldMode = dc.SetStretchBltMode(COLORONCOLOR);
    buffers.WithAfter([&] {
        dc.StretchBlt(rcPaint.left, yTop, nShownWidth, nShownHeight, &buffers.MemDC(), rcPaint.left, rcPaint.top,
                      nWidth, nHeight, SRCCOPY);
    });
    dc.SetStretchBltMode(nOldMode);
}

// The expand animation: the rarely used rows grow from nothing while the others keep
// their height.
void PaintExpandFrame(AnimationBuffers& buffers, const CRect& rcPaint, int nPercent,
                      const CExtPopupMenuWnd::ExpandEffectRectsArr_t& arr)
{
    CDC& dc = buffers.Target();
    const int nWidth = rcPaint.Width(), nHeight = rcPaint.Height();
    buffers.ShowBefore();
    const int nOldMode = dc.SetStretchBltMode(COLORONCOLOR);
    buffers.WithAfter([&] {
        CDC& dcMem = buffers.MemDC();
        if (arr.GetSize() == 0)
        {
            dc.StretchBlt(rcPaint.left, rcPaint.top, nWidth, nHeight * nPercent / 100, &dcMem, rcPaint.left,
                          rcPaint.top, nWidth, nHeight, SRCCOPY);
            return;
        }
        // The part above the first row, then each row's band, then the rest below.
        const int yFirst = arr[0].m_rcItem.top;
        dc.BitBlt(rcPaint.left, rcPaint.top, nWidth, yFirst - rcPaint.top, &dcMem, rcPaint.left, rcPaint.top, SRCCOPY);
        int y = yFirst;
        for (int n = 0; n < arr.GetSize(); n++)
        {
            const CRect& rc = arr[n].m_rcItem;
            const int nRowHeight = arr[n].m_bRarelyUsed ? rc.Height() * nPercent / 100 : rc.Height();
            if (nRowHeight > 0)
                dc.StretchBlt(rcPaint.left, y, nWidth, nRowHeight, &dcMem, rcPaint.left, rc.top, nWidth, rc.Height(),
                              SRCCOPY);
            y += nRowHeight;
        }
        const int yLast = arr[arr.GetSize() - 1].m_rcItem.bottom;
        if (rcPaint.bottom > yLast)
            dc.BitBlt(rcPaint.left, y, nWidth, rcPaint.bottom - yLast, &dcMem, rcPaint.left, yLast, SRCCOPY);
    });
    dc.SetStretchBltMode(nOldMode);
}

}  // namespace

void CExtPopupMenuWnd::ReleaseCachedBitmaps()
{
    CExtPopupBaseWnd::ReleaseCachedBitmaps();
    if (GetSafeHwnd() == NULL || !::IsWindow(m_hWnd))
        return;
    ::InvalidateRect(m_hWnd, NULL, FALSE);
    if (!IsUntrackedMode())
        ActivateCurrentPopup();
}

void CExtPopupMenuWnd::OnPaintFull(CDC& dc)
{
    if (GetSafeHwnd() == NULL)
        return;
    CRect rcClient;
    GetClientRect(&rcClient);
    const int cx = rcClient.Width(), cy = rcClient.Height();
    if (cx <= 0 || cy <= 0)
        return;
    const int nKind = GetAnimationKind();
    CDC dcMem;
    if (!dcMem.CreateCompatibleDC(&dc))
    {
        OnPaintMenu(dc, true);
        return;
    }
    if (m_bmpAnim[1].GetSafeHandle() == NULL && !PrepareAnimationBuffers(dc, dcMem, cx, cy, nKind))
        return;
    const int nPercent = std::max(0, std::min(100, m_nAnimPercent));
    const int nPercentOld = m_nAnimPercentOld;
    CRect rcPaint;
    GetPaintRect(rcPaint);
    AnimationBuffers buffers(dc, dcMem, m_bmpAnim, cx, cy);
    switch (nKind)
    {
    case 4:
        BlendFramePixels(m_pAnimBits[0], m_pAnimBits[1], m_pAnimBits[2], (size_t)cx * cy, nPercent);
        ::GdiFlush();
        buffers.ShowFrame();
        break;
    case 7:
    case 8:
    case 9:
    case 10:
        if (nPercent == nPercentOld && nPercentOld != 0)
            break;
        ComposePatternFramePixels(nKind, nPercent, nPercentOld, m_pAnimBits[0], m_pAnimBits[1], m_pAnimBits[2], cx, cy);
        ::GdiFlush();
        buffers.ShowFrame();
        break;
    case 2:
    case 3:
        PaintSlideFrame(buffers, rcPaint, nKind, nPercent, m_nCombineSide);
        break;
    case 5:
    case 6:
        PaintStretchFrame(buffers, rcPaint, nKind, nPercent, m_nCombineSide);
        break;
    case -2:
    {
        ExpandEffectRectsArr_t arr;
        CollectItemRects(NULL, arr);
        PaintExpandFrame(buffers, rcPaint, nPercent, arr);
        break;
    }
    default:
        buffers.WithAfter([&] { dc.BitBlt(0, 0, cx, cy, &dcMem, 0, 0, SRCCOPY); });
        break;
    }
}

// Takes the screen before and paints the menu after into the animation buffers. A kind
// that does not blend, or buffers that cannot be made, paint the menu at once instead:
// false then, as nothing is left to animate.
bool CExtPopupMenuWnd::PrepareAnimationBuffers(CDC& dc, CDC& dcMem, int cx, int cy, int nKind)
{
    if (!IsBlendingKind(nKind))
    {
        CBitmap bmp;
        if (!bmp.CreateCompatibleBitmap(&dc, cx, cy))
        {
            OnPaintMenu(dc, true);
            return false;
        }
        CBitmap* pOld = dcMem.SelectObject(&bmp);
        dcMem.BitBlt(0, 0, cx, cy, &dc, 0, 0, SRCCOPY);
        OnPaintMenu(dcMem, false);
        dc.BitBlt(0, 0, cx, cy, &dcMem, 0, 0, SRCCOPY);
        dcMem.SelectObject(pOld);
        return false;
    }
    bool bMade = true;
    for (int i = 0; i < 3 && bMade; i++)
    {
        void* pBits = NULL;
        HBITMAP hBmp = CreateDib32(NULL, cx, cy, &pBits);
        m_pAnimBits[i] = (COLORREF*)pBits;
        bMade = hBmp != NULL && m_bmpAnim[i].Attach(hBmp);
    }
    if (!bMade)
    {
        // No buffers: this paint goes without the animation.
        CExtPopupBaseWnd::ReleaseCachedBitmaps();
        OnPaintMenu(dc, true);
        return false;
    }
    CBitmap* pOld = dcMem.SelectObject(&m_bmpAnim[0]);
    dcMem.BitBlt(0, 0, cx, cy, &dc, 0, 0, SRCCOPY);
    dcMem.SelectObject(pOld);
    ::GdiFlush();
    memcpy(m_pAnimBits[1], m_pAnimBits[0], (size_t)cx * cy * 4);
    memcpy(m_pAnimBits[2], m_pAnimBits[0], (size_t)cx * cy * 4);
    pOld = dcMem.SelectObject(&m_bmpAnim[1]);
    OnPaintMenu(dcMem, false);
    dcMem.SelectObject(pOld);
    ::GdiFlush();
    return true;
}
