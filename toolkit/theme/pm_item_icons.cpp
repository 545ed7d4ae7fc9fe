// Item icons: where a command icon goes in an item rectangle, what is left for the text,
// and the icon drawn in the item's state; and the small colour icons of colour buttons.
#include "toolkit/theme/paint_manager.h"
#include "toolkit/core/cmd_icon.h"

namespace {

const int g_nIconGap = 3;  // item edge to icon, and icon to text

// Places the icon in the item and takes its room from the text rectangle. Answers the
// icon's top-left corner.
POINT PlaceIcon(bool bHorz, bool bHasText, const SIZE& szIcon, const RECT& rcItem,
                RECT& rcCaption, UINT nAlign, bool bRTL)
{
    const int cx = szIcon.cx, cy = szIcon.cy;
    const int nItemW = rcItem.right - rcItem.left, nItemH = rcItem.bottom - rcItem.top;
    POINT pt = {rcItem.left, rcItem.top};
    const bool bTop = (nAlign & 0x01) != 0, bFar = (nAlign & 0x02) != 0;
    if (bHorz)
    {
        if (bFar && !bTop)
        {
            if (bHasText)
            {
                if (bRTL)
                {
                    pt.x = rcItem.left + g_nIconGap;
                    rcCaption.left += cx + g_nIconGap;
                    rcCaption.right -= g_nIconGap;
                }
                else
                {
                    pt.x = rcItem.right - cx - g_nIconGap;
                    rcCaption.left += g_nIconGap;
                    rcCaption.right -= cx + g_nIconGap;
                }
                pt.y = rcItem.top + (nItemH - cy) / 2;
            }
            else
                pt.x = rcItem.left + (nItemW - cx) / 2;
        }
        else if (bHasText)
        {
            if (bRTL)
            {
                pt.x = rcItem.right - cx - g_nIconGap;
                rcCaption.right -= cx + g_nIconGap;
            }
            else
            {
                pt.x = rcItem.left + g_nIconGap;
                rcCaption.left += cx + g_nIconGap;
            }
        }
        else
            pt.x = rcItem.left + (nItemW - cx) / 2;
    }
    else
    {
        if (bFar && !bTop)
        {
            if (bHasText)
            {
                pt.y = rcItem.bottom - cy - g_nIconGap;
                rcCaption.bottom -= cy + g_nIconGap;
                pt.x = rcItem.left + (nItemW - cx) / 2;
            }
            else
                pt.y = rcItem.top + (nItemH - cy) / 2;
        }
        else
        {
            // The near end of a vertical item is its top, with or without flag 0x01.
            if (bHasText)
            {
                pt.y = rcItem.top + g_nIconGap;
                rcCaption.top += cy + g_nIconGap;
            }
            else
                pt.y = rcItem.top + (nItemH - cy) / 2;
        }
    }
    if ((nAlign & 0x08) != 0)
    {
        if (bHorz)
            pt.y = rcItem.top + (nItemH - cy) / 2;
        else
            pt.x = rcItem.left + (nItemW - cx) / 2;
    }
    return pt;
}

}  // namespace

void CExtPaintManager::PaintIcon(CDC* pDC, bool bHorz, const CString& sText, CExtCmdIcon* pIcon,
                                 const RECT& rcItem, RECT& rcCaption, bool bPushed, bool bEnabled,
                                 bool bHover, INT nIconAlignment, bool bRTL, COLORREF clrIcon)
{
    rcCaption = rcItem;
    if (pIcon == NULL || pIcon->IsEmpty())
        return;
    const CSize szIcon = pIcon->GetSize();
    const RECT rcItemCopy = rcItem;  // the caller may pass one rectangle for both
    POINT pt = PlaceIcon(bHorz, !sText.IsEmpty(), szIcon, rcItemCopy, rcCaption,
                         (UINT)nIconAlignment, bRTL);
    if (bPushed)
    {
        const SIZE szOffset = GetPushedOffset();
        pt.x += szOffset.cx;
        pt.y += szOffset.cy;
    }
    HDC hDC = (pDC != NULL) ? pDC->GetSafeHdc() : NULL;
    if (!bEnabled)
    {
        if (clrIcon != COLORREF(-1))
            pIcon->PaintShadowed(this, hDC, clrIcon, pt.x, pt.y, -1, -1);
        else
            pIcon->Paint(this, hDC, pt.x, pt.y, -1, -1, CExtCmdIcon::__PAINT_DISABLED);
        return;
    }
    const int eState = bPushed ? CExtCmdIcon::__PAINT_PRESSED
                       : bHover ? CExtCmdIcon::__PAINT_HOVER
                                : CExtCmdIcon::__PAINT_NORMAL;
    pIcon->Paint(this, hDC, pt.x, pt.y, -1, -1, eState);
}

void CExtPaintManagerXP::PaintIcon(CDC* pDC, bool bHorz, const CString& sText,
                                   CExtCmdIcon* pIcon, const RECT& rcItem, RECT& rcCaption,
                                   bool bPushed, bool bEnabled, bool bHover, INT nIconAlignment,
                                   bool bRTL, COLORREF clrIcon)
{
    rcCaption = rcItem;
    if (pIcon == NULL || pIcon->IsEmpty())
        return;
    const CSize szIcon = pIcon->GetSize();
    const RECT rcItemCopy = rcItem;
    POINT pt = PlaceIcon(bHorz, !sText.IsEmpty(), szIcon, rcItemCopy, rcCaption,
                         (UINT)nIconAlignment, bRTL);
    if (bPushed)
    {
        const SIZE szOffset = GetPushedOffset();
        pt.x += szOffset.cx;
        pt.y += szOffset.cy;
    }
    const bool bRaisedHover = (m_nXpFlags & 0x01) != 0;
    if (bRaisedHover)
    {
        // The resting place sits one pixel down (and inward), so that the hovered icon,
        // lifted up-left by two, floats over its shadow.
        pt.x += bRTL ? -1 : 1;
        pt.y += 1;
    }
    HDC hDC = (pDC != NULL) ? pDC->GetSafeHdc() : NULL;
    if (!bEnabled)
    {
        if (clrIcon != COLORREF(-1))
            pIcon->PaintTinted(this, hDC, clrIcon, pt.x, pt.y - 1, -1, -1);
        else
            pIcon->Paint(this, hDC, pt.x, pt.y, -1, -1, CExtCmdIcon::__PAINT_DISABLED);
        return;
    }
    if (bHover && !bPushed && bRaisedHover)
    {
        if ((pIcon->m_dwFlags & 0x07) == 0)
        {
            // Without an icon colour the shadow takes the theme's shadow colour: a
            // "none" colour would otherwise be read as white.
            const COLORREF clrShadow =
                (clrIcon != COLORREF(-1)) ? clrIcon : LookupColor(COLOR_BTNSHADOW);
            pIcon->PaintMonoEffect(this, hDC, clrShadow, pt.x, pt.y, -1, -1);
        }
        pIcon->Paint(this, hDC, pt.x - 2, pt.y - 2, -1, -1, CExtCmdIcon::__PAINT_HOVER);
        return;
    }
    const int eState = bPushed ? CExtCmdIcon::__PAINT_PRESSED
                       : bHover ? CExtCmdIcon::__PAINT_HOVER
                                : CExtCmdIcon::__PAINT_NORMAL;
    pIcon->Paint(this, hDC, pt.x, pt.y, -1, -1, eState);
}

// ---- colour icons ------------------------------------------------------------------------

namespace {

// Builds a 16x16 icon; the callback paints the colour bitmap and the mask (black opaque,
// white transparent) through their memory DCs.
template <class PAINT>
HICON BuildColorIcon(PAINT paint)
{
    const int n = 16;
    HDC hScreen = ::GetDC(NULL);
    if (hScreen == NULL)
        return NULL;
    HDC hColorDC = ::CreateCompatibleDC(hScreen);
    HDC hMaskDC = ::CreateCompatibleDC(hScreen);
    HBITMAP hColor = ::CreateCompatibleBitmap(hScreen, n, n);
    HBITMAP hMask = ::CreateBitmap(n, n, 1, 1, NULL);
    ::ReleaseDC(NULL, hScreen);
    HICON hIcon = NULL;
    if (hColorDC != NULL && hMaskDC != NULL && hColor != NULL && hMask != NULL)
    {
        HGDIOBJ hOldColor = ::SelectObject(hColorDC, hColor);
        HGDIOBJ hOldMask = ::SelectObject(hMaskDC, hMask);
        paint(hColorDC, hMaskDC, n);
        ::SelectObject(hColorDC, hOldColor);
        ::SelectObject(hMaskDC, hOldMask);
        ICONINFO ii;
        ii.fIcon = TRUE;
        ii.xHotspot = 0;
        ii.yHotspot = 0;
        ii.hbmMask = hMask;
        ii.hbmColor = hColor;
        hIcon = ::CreateIconIndirect(&ii);
    }
    if (hColor != NULL)
        ::DeleteObject(hColor);
    if (hMask != NULL)
        ::DeleteObject(hMask);
    if (hColorDC != NULL)
        ::DeleteDC(hColorDC);
    if (hMaskDC != NULL)
        ::DeleteDC(hMaskDC);
    return hIcon;
}

void FillWith(HDC hDC, const RECT& rc, COLORREF clr)
{
    HBRUSH hBrush = ::CreateSolidBrush(clr);
    if (hBrush == NULL)
        return;
    ::FillRect(hDC, &rc, hBrush);
    ::DeleteObject(hBrush);
}

}  // namespace

HICON CExtPaintManager::CreateColorIcon(COLORREF clr)
{
    return BuildColorIcon([clr](HDC hColorDC, HDC hMaskDC, int n) {
        const RECT rc = {0, 0, n, n};
        ::FillRect(hMaskDC, &rc, (HBRUSH)::GetStockObject(BLACK_BRUSH));
        FillWith(hColorDC, rc, clr);
    });
}

HICON CExtPaintManager::CreateColorFrameIcon(COLORREF clr)
{
    return BuildColorIcon([clr](HDC hColorDC, HDC hMaskDC, int n) {
        RECT rc = {0, 0, n, n};
        ::FillRect(hMaskDC, &rc, (HBRUSH)::GetStockObject(WHITE_BRUSH));
        ::FillRect(hColorDC, &rc, (HBRUSH)::GetStockObject(BLACK_BRUSH));
        ::InflateRect(&rc, -1, -2);
        ::FillRect(hMaskDC, &rc, (HBRUSH)::GetStockObject(BLACK_BRUSH));
        FillWith(hColorDC, rc, clr);
        ::InflateRect(&rc, -2, -2);
        ::FillRect(hMaskDC, &rc, (HBRUSH)::GetStockObject(WHITE_BRUSH));
        ::FillRect(hColorDC, &rc, (HBRUSH)::GetStockObject(BLACK_BRUSH));
    });
}
