// Everything of a popup menu besides its items: the theme metrics menus ask for, the
// menu frame, separators, the tear-off caption, the scroll buttons of long menus, the
// expand button that shows hidden rarely used items, and the double frame round a
// singled-out item.
#include "toolkit/theme/paint_manager.h"
#include "toolkit/theme/pm_bar_parts.h"
#include "toolkit/theme/pm_glyphs.h"
#include "toolkit/theme/pm_menu_entry.h"
#include "toolkit/theme/pm_neighbours.h"
#include "toolkit/theme/pm_push_button.h"

#include <algorithm>

typedef CExtPmNeighbours NB;

namespace {

int DcBits(CDC& dc) { return CExtPaintManager::GetDcBitsPerPixel(dc.GetSafeHdc()); }

void Frame(CDC& dc, const RECT& rc, COLORREF clr) { dc.Draw3dRect(&rc, clr, clr); }

// Weights of the Office 2003 expand-button knob, row by row: 0 paints the light colour,
// 254 nearly the dark one, 255 leaves the pixel alone. A disc lit from the top left.
const BYTE g_arrKnobWeights[16 * 16] = {
    255, 255, 255, 255, 255, 234, 198, 180, 180, 180, 198, 255, 255, 255, 255, 255,
    255, 255, 255, 230, 208, 190,  48,  54,  59,  65, 190, 208, 230, 255, 255, 255,
    255, 255, 224, 196,  43,  48,  54,  59,  65,  70,  76,  81, 196, 224, 255, 255,
    255, 230, 196,  43,  48,  54,  59,  65,  70,  76,  81,  87,  92, 196, 230, 255,
    255, 208,  43,  48,  54,  59,  65,  70,  76,  81,  87,  92,  98, 103, 208, 255,
    230, 190,  48,  54,  59,  65,  70,  76,  81,  87,  92,  98, 103, 109, 190, 230,
    219,  48,  54,  59,  65,  70,  76,  81,  87,  92,  98, 103, 109, 114, 120, 219,
    213,  54,  59,  65,  70,  76,  81,  87,  92,  98, 103, 109, 114, 120, 125, 213,
    213,  59,  65,  70,  76,  81,  87,  92,  98, 103, 109, 114, 120, 125, 131, 213,
    219,  65,  70,  76,  81,  87,  92,  98, 103, 109, 114, 120, 125, 131, 136, 219,
    230, 190,  76,  81,  87,  92,  98, 103, 109, 114, 120, 125, 131, 136, 190, 230,
    255, 208,  81,  87,  92,  98, 103, 109, 114, 120, 125, 131, 136, 142, 208, 255,
    255, 230, 196,  92,  98, 103, 109, 114, 120, 125, 131, 136, 142, 196, 230, 255,
    255, 255, 224, 196, 103, 109, 114, 120, 125, 131, 136, 142, 196, 224, 255, 255,
    255, 255, 255, 230, 208, 190, 120, 125, 131, 136, 190, 208, 230, 255, 255, 255,
    255, 255, 255, 255, 255, 230, 219, 213, 213, 219, 230, 255, 255, 255, 255, 255,
};

BYTE KnobChannel(int a, int b, int w) { return (BYTE)(a - (a - b) * w / 255); }

}  // namespace

// ---- metrics ---------------------------------------------------------------------------------

int CExtPaintManagerOffice2003::GetMenuCheckHeight()
{
    return std::max(CExtPaintManagerXP::GetMenuCheckHeight(), 18);
}

void CExtPaintManagerXP::GetMenuBorderMargins(RECT& rcMargins, CObject*, LPARAM)
{
    ::SetRect(&rcMargins, 1, 1, 1, 1);
}

int CExtPaintManagerStudio2005::QueryBarSettingDefault() { return 1; }
int CExtPaintManagerStudio2005::QueryTabSettingDefault() { return 1; }

// ---- frames ----------------------------------------------------------------------------------

void CExtPaintManager::DrawMenuFrame(CDC& dc, const RECT& rcIn, CObject* pHelperSrc,
                                     LPARAM lParam)
{
    if (::IsRectEmpty(&rcIn))
        return;
    const COLORREF clrFace = LookupColor(CLR_3DFACE_OUT, pHelperSrc, lParam);
    RECT rc = rcIn;
    dc.Draw3dRect(&rc, clrFace, LookupColor(CLR_3DDKSHADOW_OUT, pHelperSrc, lParam));
    ::InflateRect(&rc, -1, -1);
    dc.Draw3dRect(&rc, LookupColor(CLR_3DHILIGHT_OUT, pHelperSrc, lParam),
                  LookupColor(CLR_3DSHADOW_OUT, pHelperSrc, lParam));
    ::InflateRect(&rc, -1, -1);
    Frame(dc, rc, clrFace);
    ::InflateRect(&rc, -1, -1);
    Frame(dc, rc, clrFace);
}

void CExtPaintManagerXP::DrawMenuFrame(CDC& dc, const RECT& rc, CObject* pHelperSrc,
                                       LPARAM lParam)
{
    if (::IsRectEmpty(&rc))
        return;
    Frame(dc, rc, LookupColor(XPCLR_MENU_BORDER, pHelperSrc, lParam));
}

void CExtPaintManager::DrawDoubleFrame(CDC& dc, const RECT& rcIn)
{
    if (!dc.RectVisible(&rcIn))
        return;
    const COLORREF clr = LookupColor(COLOR_BTNTEXT);
    RECT rc = rcIn;
    Frame(dc, rc, clr);
    ::InflateRect(&rc, -1, -1);
    Frame(dc, rc, clr);
}

// ---- separators ------------------------------------------------------------------------------

void CExtPaintManager::DrawMenuSeparator(CDC& dc, const RECT& rcIn, int, bool bRarelyUsed,
                                         CObject* pHelperSrc, LPARAM lParam)
{
    if (::IsRectEmpty(&rcIn))
        return;
    if (bRarelyUsed)
        dc.FillRect(&rcIn, &m_brushAux[0]);
    else
        dc.FillSolidRect(&rcIn, LookupColor(CLR_3DFACE_OUT, pHelperSrc, lParam));
    RECT rc = rcIn;
    const int nInset = ::GetSystemMetrics(SM_CXSMICON) / 2;
    rc.left += nInset;
    rc.right -= nInset;
    rc.top += ((rc.bottom - rc.top) - 2) / 2;
    rc.bottom = rc.top + 2;
    dc.Draw3dRect(&rc, LookupColor(bRarelyUsed ? CLR_3DFACE_OUT : CLR_3DSHADOW_OUT, pHelperSrc, lParam),
                  LookupColor(CLR_3DHILIGHT_OUT, pHelperSrc, lParam));
}

void CExtPaintManagerXP::DrawMenuSeparator(CDC& dc, const RECT& rcIn, int nLeftAreaWidth,
                                           bool bRarelyUsed, CObject* pHelperSrc, LPARAM lParam)
{
    if (::IsRectEmpty(&rcIn))
        return;
    const bool bRTL = NB::IsMenuRTL(pHelperSrc);
    RECT rcLeft = rcIn, rcRest = rcIn;
    if (bRTL)
    {
        rcLeft.left = rcLeft.right - nLeftAreaWidth;
        rcRest.right = rcLeft.left;
    }
    else
    {
        rcLeft.right = rcLeft.left + nLeftAreaWidth;
        rcRest.left = rcLeft.right;
    }
    FillMenuLeftArea(dc, rcLeft, bRarelyUsed, false, pHelperSrc, lParam);
    dc.FillSolidRect(&rcRest, LookupColor(XPCLR_3DFACE_NORMAL, pHelperSrc, lParam));
    PAINTMENUENTRYDATA _pmed;
    PaintMenuAreaHook(dc, _pmed, rcLeft, rcRest);
    RECT rcLine = rcRest;
    if (bRTL)
        rcLine.right -= 3;
    else
        rcLine.left += 3;
    rcLine.top += (rcIn.bottom - rcIn.top) / 2 - 1;
    rcLine.bottom = rcLine.top + 1;
    dc.FillSolidRect(&rcLine, LookupColor(XPCLR_SEPARATOR, pHelperSrc, lParam));
}

// ---- tear-off caption --------------------------------------------------------------------

void CExtPaintManager::DrawMenuTearOffCaption(CDC& dc, const RECT& rcIn, bool, bool,
                                              CObject* pHelperSrc, LPARAM lParam)
{
    RECT rc = rcIn;
    rc.left += 1;
    rc.bottom -= 1;
    dc.FillSolidRect(&rc, LookupColor(COLOR_HIGHLIGHT, pHelperSrc, lParam));
}

void CExtPaintManagerXP::DrawMenuTearOffCaption(CDC& dc, const RECT& rcIn, bool bHover,
                                                bool bPushed, CObject* pHelperSrc, LPARAM lParam)
{
    RECT r = rcIn;
    r.bottom -= 1;
    const bool bHot = bHover || bPushed;
    dc.FillSolidRect(&r, LookupColor(bHot ? CLR_3DFACE_IN : XPCLR_3DFACE_DARK, pHelperSrc, lParam));
    RECT rcStrip = r;
    rcStrip.left = r.left + ((r.right - r.left) - 33) / 2;
    rcStrip.right = rcStrip.left + 33;
    if (bHot)
    {
        Frame(dc, r, LookupColor(XPCLR_HILIGHT_BORDER, pHelperSrc, lParam));
        ::InflateRect(&rcStrip, 0, -2);
    }
    else
        ::InflateRect(&rcStrip, 0, -1);
    const COLORREF clrLine = LookupColor(bHot ? COLOR_BTNTEXT : COLOR_BTNSHADOW, pHelperSrc, lParam);
    for (int y = rcStrip.top; y < rcStrip.bottom; y += 2)
        dc.FillSolidRect(rcStrip.left, y, rcStrip.right - rcStrip.left, 1, clrLine);
}

void CExtPaintManagerOffice2003::DrawMenuTearOffCaption(CDC& dc, const RECT& rcIn, bool bHover,
                                                        bool bPushed, CObject* pHelperSrc,
                                                        LPARAM lParam)
{
    RECT r = rcIn;
    r.bottom -= 1;
    const bool bHot = bHover || bPushed;
    dc.FillSolidRect(&r, LookupColor(bHot ? CLR_3DFACE_IN : XPCLR_3DFACE_DARK, pHelperSrc, lParam));
    if (bHot)
        Frame(dc, r, LookupColor(XPCLR_HILIGHT_BORDER, pHelperSrc, lParam));
    RECT rcGrip = r;
    int nMargin = 36;
    if ((r.right - r.left) - 2 * nMargin < 10)
        nMargin = 10;
    rcGrip.left += nMargin;
    rcGrip.right -= nMargin;
    rcGrip.top += ((r.bottom - r.top) - 3) / 2;
    rcGrip.bottom = rcGrip.top + 3;
    const COLORREF clrDot = LookupColor(3003, pHelperSrc, lParam);
    const COLORREF clrShadow = LookupColor(3002, pHelperSrc, lParam);
    for (int x = rcGrip.left; x + 4 < rcGrip.right; x += 4)
    {
        dc.FillSolidRect(x + 1, rcGrip.top + 1, 2, 2, clrShadow);
        dc.FillSolidRect(x, rcGrip.top, 2, 2, clrDot);
    }
}

// ---- scroll and expand buttons -----------------------------------------------------------

void CExtPaintManager::DrawMenuScrollButton(CDC& dc, bool bPushed, bool bHover, bool bUp,
                                            const RECT* pRect, CObject* pHelperSrc, LPARAM lParam)
{
    if (pRect == NULL)
        return;
    PAINTBUTTONDATA _ppbd(pHelperSrc, true, *pRect, bUp ? "t" : "u", NULL, true, false,
                          bPushed || bHover, false, true, true, false, false, 9,
                          (HFONT)m_FontMarlett.GetSafeHandle(), false, 0, false);
    _ppbd.m_lParam = lParam;
    DrawPushButton(dc, _ppbd);
}

void CExtPaintManager::DrawMenuExpandButton(CDC& dc, const RECT& rcIn, bool bHover, bool,
                                            CObject* pHelperSrc, LPARAM lParam)
{
    RECT rcButton = rcIn;
    ::InflateRect(&rcButton, -1, 0);
    if (bHover)
    {
        dc.FillRect(&rcButton, &m_brushAux[0]);
        dc.Draw3dRect(&rcButton, LookupColor(CLR_3DHILIGHT_OUT, pHelperSrc, lParam),
                      LookupColor(CLR_3DSHADOW_OUT, pHelperSrc, lParam));
    }
    else
    {
        PAINTMENUENTRYDATA _pmed(this, rcButton, rcIn, 0, "", "", NULL, false, false, false,
                                 false, false, true, false, false, false, 0, NULL);
        DrawMenuEntry(dc, _pmed);
    }
    const COLORREF arrColors[2] = {0, LookupColor(CLR_TEXT_OUT, pHelperSrc, lParam)};
    DrawGlyph(dc, rcButton, g_glyphDoubleChevronDown, arrColors);
}

// The XP steps of the expand button; answers the glyph rectangle.
RECT CExtPaintManagerXP::DrawMenuExpandButtonFace(CDC& dc, const RECT& rcIn, bool bHover,
                                                  CObject* pHelperSrc, LPARAM lParam)
{
    RECT rcButton = rcIn;
    ::InflateRect(&rcButton, -1, 0);
    RECT rcGlyph = rcButton;
    int nLeftArea = 0;
    DWORD dwItemFlags = 0;
    if (NB::IsPopupMenu(pHelperSrc) && NB::MenuLastItem(pHelperSrc, nLeftArea, dwItemFlags) &&
        (dwItemFlags & 0x10) != 0)
        nLeftArea = 0;
    if (bHover)
    {
        PAINTMENUENTRYDATA _pmedHook;
        _pmedHook.m_pHelperSrc = pHelperSrc;
        _pmedHook.m_lParam = lParam;
        RECT rcSel = rcButton;
        if (!PaintMenuSelectionHook(dc, _pmedHook, rcSel))
        {
            PAINTBUTTONDATA _ppbd(pHelperSrc, true, rcButton, "", NULL, true, false, true, false,
                                  false, true, false, false, 9);
            DrawPushButton(dc, _ppbd);
            const SIZE szOffset = GetPushedOffset();
            ::OffsetRect(&rcGlyph, szOffset.cx, szOffset.cy);
        }
    }
    else
    {
        PAINTMENUENTRYDATA _pmed(pHelperSrc, rcButton, rcIn, nLeftArea, "", "", NULL, false,
                                 false, false, false, false, true, false, false, false, 0, NULL);
        DrawMenuEntry(dc, _pmed);
    }
    return rcGlyph;
}

void CExtPaintManagerXP::DrawMenuExpandButton(CDC& dc, const RECT& rcIn, bool bHover, bool,
                                              CObject* pHelperSrc, LPARAM lParam)
{
    const RECT rcGlyph = DrawMenuExpandButtonFace(dc, rcIn, bHover, pHelperSrc, lParam);
    const COLORREF arrColors[2] = {0, LookupColor(CLR_TEXT_OUT, pHelperSrc, lParam)};
    DrawGlyph(dc, rcGlyph, g_glyphDoubleChevronDown, arrColors);
}

void CExtPaintManagerOffice2003::DrawMenuExpandButton(CDC& dc, const RECT& rcIn, bool bHover,
                                                      bool bUnused, CObject* pHelperSrc,
                                                      LPARAM lParam)
{
    if (DcBits(dc) <= 8)
    {
        CExtPaintManagerXP::DrawMenuExpandButton(dc, rcIn, bHover, bUnused, pHelperSrc, lParam);
        return;
    }
    const RECT rcGlyph = DrawMenuExpandButtonFace(dc, rcIn, bHover, pHelperSrc, lParam);
    RECT rcButton = rcIn;
    ::InflateRect(&rcButton, -1, 0);
    RECT rcNorm = rcButton;
    if (rcNorm.left > rcNorm.right)
        std::swap(rcNorm.left, rcNorm.right);
    if (rcNorm.top > rcNorm.bottom)
        std::swap(rcNorm.top, rcNorm.bottom);
    const int x0 = rcNorm.left + ((rcNorm.right - rcNorm.left) - 16) / 2;
    const int y0 = rcNorm.top + ((rcNorm.bottom - rcNorm.top) - 16) / 2;
    const COLORREF a = LookupColor(3034, pHelperSrc, lParam);
    const COLORREF b = LookupColor(3035, pHelperSrc, lParam);
    HDC hDC = dc.GetSafeHdc();
    for (int y = 0; y < 16; y++)
        for (int x = 0; x < 16; x++)
        {
            const int w = g_arrKnobWeights[y * 16 + x];
            if (w == 255)
                continue;
            ::SetPixel(hDC, x0 + x, y0 + y,
                       RGB(KnobChannel(GetRValue(a), GetRValue(b), w),
                           KnobChannel(GetGValue(a), GetGValue(b), w),
                           KnobChannel(GetBValue(a), GetBValue(b), w)));
        }
    const COLORREF arrColors[2] = {0, LookupColor(CLR_TEXT_OUT, pHelperSrc, lParam)};
    DrawGlyph(dc, rcGlyph, g_glyphDoubleChevronDown, arrColors);
}
