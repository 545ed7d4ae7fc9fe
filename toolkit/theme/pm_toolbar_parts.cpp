// The remaining bar-related painting: the chevron button at the end of a toolbar, the
// border of a popup menu that stays open towards the item that opened it, a small
// toolbar border part, the icon-and-label field box and the text field items, and the
// text offset of the themes.
#include "toolkit/theme/paint_manager.h"
#include "toolkit/theme/pm_bar_parts.h"
#include "toolkit/theme/pm_glyphs.h"
#include "toolkit/theme/pm_neighbours.h"
#include "toolkit/theme/pm_push_button.h"
#include "toolkit/core/cmd_icon.h"
#include "toolkit/core/resource_manager.h"

#include <algorithm>
#include <utility>

typedef CExtPmNeighbours NB;
typedef CExtPaintManager PM;

CExtPaintManager::PAINTFIELDBOXDATA::PAINTFIELDBOXDATA()
    : m_pHelperSrc(NULL),
      m_lParam(0),
      m_pIconFirst(NULL),
      m_pIconSecond(NULL),
      m_dwReserved(0),
      m_bHover(false),
      m_bPressed(false),
      m_bReserved2(false),
      m_bReserved3(false),
      m_bInfoColors(false),
      m_bVerticalLabel(false),
      m_bPreferFirstIcon(false),
      m_bInfoBoxOnly(false),
      m_dwFlags2(0),
      m_hFont(NULL)
{
    ::SetRectEmpty(&m_rcItem);
    ::SetRectEmpty(&m_rcIcon);
    ::SetRectEmpty(&m_rcLabel);
    ::SetRectEmpty(&m_rcLabelBounds);
}

CExtPaintManager::PAINTTEXTFIELDDATA::PAINTTEXTFIELDDATA()
    : m_pHelperSrc(NULL),
      m_lParam(0),
      m_nDrawTextFlags(DT_SINGLELINE | DT_VCENTER | DT_LEFT),
      m_bDropDownLook(false),
      m_bHover(false),
      m_bPressed(false),
      m_bEnabled(true),
      m_bReserved4(false),
      m_bReserved5(false),
      m_bReserved6(false),
      m_bReserved7(false)
{
    ::SetRectEmpty(&m_rcItem);
    ::SetRectEmpty(&m_rcField);
}

namespace {

int DcBits(CDC& dc) { return CExtPaintManager::GetDcBitsPerPixel(dc.GetSafeHdc()); }

void Frame(CDC& dc, const RECT& rc, COLORREF clr) { dc.Draw3dRect(&rc, clr, clr); }

void GlyphAt(CExtPaintManager* pPM, CDC& dc, int x, int y, const CExtPaintManager::glyph& g,
             COLORREF clr)
{
    const COLORREF arrColors[2] = {0, clr};
    pPM->DrawGlyphPixels(dc, x, y, g, arrColors);
}

struct ChevronGlyphs
{
    const CExtPaintManager::glyph* pDrop;
    const CExtPaintManager::glyph* pChevron;
};

// The classic pair: a small drop arrow and a double chevron, turned for vertical bars.
ChevronGlyphs ClassicGlyphs(bool bHorz)
{
    ChevronGlyphs g;
    g.pDrop = bHorz ? &g_glyphDropArrowDown : &g_glyphDropArrowLeft;
    g.pChevron = bHorz ? &g_glyphDoubleChevronRight : &g_glyphDoubleChevronDown;
    return g;
}

}  // namespace

// The XP and Office 2003 themes keep their chevron glyphs in the four glyph pointers; a
// theme object whose pointers are still empty gets the pair of its look.
void CExtPaintManagerXP::EnsureChevronGlyphs()
{
    if (m_pGlyphMenuDropHorz != NULL && m_pGlyphMenuChevronHorz != NULL &&
        m_pGlyphMenuDropVert != NULL && m_pGlyphMenuChevronVert != NULL)
        return;
    if ((m_nXpFlags & 0x04) != 0)
    {
        m_pGlyphMenuDropHorz = &g_glyphBarOverDown;
        m_pGlyphMenuChevronHorz = &g_glyphTwoRightTriangles;
        m_pGlyphMenuDropVert = &g_glyphBarOverDown270;
        m_pGlyphMenuChevronVert = &g_glyphTwoDownTriangles;
    }
    else
    {
        m_pGlyphMenuDropHorz = &g_glyphDropArrowDown;
        m_pGlyphMenuChevronHorz = &g_glyphDoubleChevronRight;
        m_pGlyphMenuDropVert = &g_glyphDropArrowLeft;
        m_pGlyphMenuChevronVert = &g_glyphDoubleChevronDown;
    }
}

// ---- chevron button --------------------------------------------------------------------------

void CExtPaintManager::DrawChevronButtonClassic(CDC& dc, const RECT& rcIn, bool bHorz,
                                                bool bNoHiddenButtons, bool bEnabled,
                                                bool bPushed, bool bHover, CObject* pHelperSrc,
                                                LPARAM lParam, bool bTransparentBackground,
                                                const glyph& glyphDrop, const glyph& glyphChevron,
                                                bool bXpLook)
{
    RECT rc = rcIn;
    if (rc.left > rc.right)
        std::swap(rc.left, rc.right);
    if (rc.top > rc.bottom)
        std::swap(rc.top, rc.bottom);
    if (!dc.RectVisible(&rc))
        return;
    PAINTBUTTONDATA _ppbd(pHelperSrc, true, rc, "", NULL, true, bHover, bPushed, false, bEnabled,
                          true, false, false, 0, NULL, false, 0, bTransparentBackground);
    _ppbd.m_lParam = lParam;
    DrawPushButton(dc, _ppbd);

    const COLORREF clrGlyph =
        LookupColor(bEnabled ? CLR_TEXT_OUT : COLOR_BTNHIGHLIGHT, pHelperSrc, lParam);
    const SIZE szOffset = GetPushedOffset();
    const int w = rc.right - rc.left, h = rc.bottom - rc.top;
    const int nRound = bXpLook ? 1 : 0;
    POINT ptDrop, ptChevron;
    if (bHorz)
    {
        const int nGap = 3 * std::max((int)szOffset.cy, 1);
        ptDrop.x = rc.left + (w - glyphDrop.GetWidth() + nRound) / 2;
        ptDrop.y = rc.bottom - nGap - glyphDrop.GetHeight();
        ptChevron.x = rc.left + (w - glyphChevron.GetWidth() + nRound) / 2;
        ptChevron.y = rc.top + nGap;
    }
    else
    {
        const int nGap = 3 * std::max((int)szOffset.cx, 1);
        ptDrop.x = rc.left + nGap;
        ptDrop.y = rc.top + (h - glyphDrop.GetHeight() + nRound) / 2;
        ptChevron.x = rc.right - nGap - glyphChevron.GetWidth();
        ptChevron.y = rc.top + (h - glyphChevron.GetHeight() + nRound) / 2;
        CExtPaintManagerXP* pXP = DYNAMIC_DOWNCAST(CExtPaintManagerXP, this);
        if (bXpLook && pXP != NULL && (pXP->m_nXpFlags & 0x04) != 0)
            std::swap(ptDrop, ptChevron);
    }
    if (bPushed)
    {
        ptDrop.x += szOffset.cx;
        ptDrop.y += szOffset.cy;
        ptChevron.x += szOffset.cx;
        ptChevron.y += szOffset.cy;
    }
    if (bEnabled)
    {
        GlyphAt(this, dc, ptDrop.x, ptDrop.y, glyphDrop, clrGlyph);
        if (!bNoHiddenButtons)
            GlyphAt(this, dc, ptChevron.x, ptChevron.y, glyphChevron, clrGlyph);
        return;
    }
    if (!bXpLook)
        GlyphAt(this, dc, ptDrop.x + 1, ptDrop.y + 1, glyphDrop,
                LookupColor(COLOR_BTNHIGHLIGHT, pHelperSrc, lParam));
    GlyphAt(this, dc, ptDrop.x, ptDrop.y, glyphDrop, LookupColor(COLOR_BTNSHADOW, pHelperSrc, lParam));
}

void CExtPaintManager::DrawChevronButton(CDC& dc, const RECT& rc, bool bHorz,
                                         bool bNoHiddenButtons, bool bEnabled, bool bPushed,
                                         bool bHover, CObject* pHelperSrc, LPARAM lParam,
                                         bool bTransparentBackground)
{
    const ChevronGlyphs g = ClassicGlyphs(bHorz);
    DrawChevronButtonClassic(dc, rc, bHorz, bNoHiddenButtons, bEnabled, bPushed, bHover,
                             pHelperSrc, lParam, bTransparentBackground, *g.pDrop, *g.pChevron,
                             false);
}

void CExtPaintManagerXP::DrawChevronButton(CDC& dc, const RECT& rc, bool bHorz,
                                           bool bNoHiddenButtons, bool bEnabled, bool bPushed,
                                           bool bHover, CObject* pHelperSrc, LPARAM lParam,
                                           bool bTransparentBackground)
{
    EnsureChevronGlyphs();
    DrawChevronButtonClassic(dc, rc, bHorz, bNoHiddenButtons, bEnabled, bPushed, bHover,
                             pHelperSrc, lParam, bTransparentBackground,
                             bHorz ? *m_pGlyphMenuDropHorz : *m_pGlyphMenuDropVert,
                             bHorz ? *m_pGlyphMenuChevronHorz : *m_pGlyphMenuChevronVert, true);
}

namespace {

// The Office 2003 chevron paints the end of its toolbar itself: only for an enabled
// button of a docked, non-menu toolbar on a true-colour display. Returns that toolbar's
// window, or NULL when the XP look is to be used.
CWnd* ChevronBarForOwnLook(CExtPaintManager* pPM, CDC& dc, CObject* pHelperSrc, LPARAM lParam, bool bEnabled)
{
    CObject* pBar = NB::IsExpandButton(pHelperSrc) ? NB::ButtonBar(pHelperSrc) : NULL;
    CWnd* pBarWnd = (pBar != NULL && pBar->IsKindOf(RUNTIME_CLASS(CWnd))) ? static_cast<CWnd*>(pBar) : NULL;
    if (!bEnabled || pBarWnd == NULL || pBarWnd->GetSafeHwnd() == NULL ||
        !pPM->UsesParentBackground(pHelperSrc, lParam) || DcBits(dc) <= 8)
        return NULL;
    const BYTE nOptions = NB::BarOptions(pBar);
    const bool bDockedPlain = NB::DockBar(pBar) != NULL && (NB::DockBarOptions2(pBar) & 0x04) == 0;
    const bool bOwnLook = (nOptions & 0x02) == 0 && !NB::IsFloating(pBar) && !NB::IsMenuBar(pBar) &&
                          !NB::IsPanelBar(pBar) && (bDockedPlain || (nOptions & 0x04) != 0);
    return bOwnLook ? pBarWnd : NULL;
}

// The corner of the toolbar's rounded end. Windows 9x rounds small corners tighter, so
// they are widened there and the glyphs shift along the bar.
SIZE ChevronBarCorner(SIZE sizeCorner, bool bHorz, POINT& ptGlyphShift)
{
    ptGlyphShift.x = ptGlyphShift.y = 0;
    if (!g_CurrentPaintManager.IsWin9x())
        return sizeCorner;
    if (sizeCorner.cx >= 1 && sizeCorner.cx <= 5)
    {
        sizeCorner.cx += 3;
        if (bHorz)
            ptGlyphShift.x = 2;
    }
    if (sizeCorner.cy >= 1 && sizeCorner.cy <= 5)
    {
        sizeCorner.cy += 3;
        if (!bHorz)
            ptGlyphShift.y = 2;
    }
    return sizeCorner;
}

// The face covers the bar's rounded end from just before the button: the region of the
// whole rounded bar less the rounded bar that stops at the button. NULL when the
// regions cannot be made.
HRGN CreateChevronFaceRgn(const RECT& rcBarClient, const RECT& rcButtonIn, SIZE sizeCorner, bool bHorz, RECT& rcFace)
{
    const RECT& rcBar = rcBarClient;
    RECT rcButton = rcButtonIn;
    HRGN hRgnFace =
        ::CreateRoundRectRgn(rcBar.left, rcBar.top, rcBar.right, rcBar.bottom, sizeCorner.cx, sizeCorner.cy);
    HRGN hRgnBeforeButton = NULL;
    if (bHorz)
    {
        ::OffsetRect(&rcButton, rcBar.right - rcButton.right, 0);
        ::SetRect(&rcFace, rcButton.left - 1 - sizeCorner.cx, rcBar.top, rcBar.right, rcBar.bottom - 1);
        hRgnBeforeButton =
            ::CreateRoundRectRgn(rcBar.left, rcBar.top, rcButton.left, rcBar.bottom, sizeCorner.cx, sizeCorner.cy);
    }
    else
    {
        ::OffsetRect(&rcButton, 0, rcBar.bottom - rcButton.bottom);
        ::SetRect(&rcFace, rcBar.left, rcButton.top - 1 - sizeCorner.cy, rcBar.right - 1, rcBar.bottom);
        hRgnBeforeButton =
            ::CreateRoundRectRgn(rcBar.left, rcBar.top, rcBar.right, rcButton.top, sizeCorner.cx, sizeCorner.cy);
    }
    const bool bMade = hRgnFace != NULL && hRgnBeforeButton != NULL &&
                       ::CombineRgn(hRgnFace, hRgnFace, hRgnBeforeButton, RGN_DIFF) != ERROR;
    if (hRgnBeforeButton != NULL)
        ::DeleteObject(hRgnBeforeButton);
    if (!bMade && hRgnFace != NULL)
    {
        ::DeleteObject(hRgnFace);
        hRgnFace = NULL;
    }
    return hRgnFace;
}

// The face gradient, from the start (top or left) to the end; at rest without the Luna
// colours the gradient takes the first three fifths and the end colour the rest.
void FillChevronFace(CExtPaintManager* pPM, CDC& dc, const RECT& rcFace, bool bHorz, bool bPushed, bool bHover,
                     CObject* pHelperSrc, LPARAM lParam)
{
    if (bPushed || bHover)
    {
        RECT rcGradient = rcFace;
        ::InflateRect(&rcGradient, 1, 1);
        const COLORREF clrStart = pPM->LookupColor(
            bPushed ? PM::_2003CLR_CHEVRON_PUSHED_START : PM::_2003CLR_CHEVRON_HOVER_START, pHelperSrc, lParam);
        const COLORREF clrEnd = pPM->LookupColor(
            bPushed ? PM::_2003CLR_CHEVRON_PUSHED_END : PM::_2003CLR_CHEVRON_HOVER_END, pHelperSrc, lParam);
        if (bHorz)
            CExtPaintManager::GradientFillRect(dc, rcGradient, clrEnd, clrStart, true, 256);
        else
            CExtPaintManager::GradientFillRect(dc, rcGradient, clrStart, clrEnd, false, 256);
        return;
    }
    const COLORREF clrStart = pPM->LookupColor(PM::_2003CLR_CHEVRON_FACE_START, pHelperSrc, lParam);
    const COLORREF clrEnd = pPM->LookupColor(PM::_2003CLR_CHEVRON_FACE_END, pHelperSrc, lParam);
    RECT rcGradient = rcFace;
    if (!pPM->UsesLunaColors())
    {
        RECT rcRest = rcFace;
        if (bHorz)
        {
            rcGradient.bottom = rcFace.top + ::MulDiv(rcFace.bottom - rcFace.top, 3, 5);
            rcRest.top = rcGradient.bottom;
        }
        else
        {
            rcGradient.right = rcFace.left + ::MulDiv(rcFace.right - rcFace.left, 3, 5);
            rcRest.left = rcGradient.right;
        }
        dc.FillSolidRect(&rcRest, clrEnd);
    }
    if (bHorz)
        CExtPaintManager::GradientFillRect(dc, rcGradient, clrEnd, clrStart, true, 256);
    else
        CExtPaintManager::GradientFillRect(dc, rcGradient, clrStart, clrEnd, false, 256);
}

// The glyphs on the face: a light copy under a dark one, the drop arrow at the end and
// the chevron (when buttons are hidden) at the start.
void DrawChevronFaceGlyphs(CExtPaintManager* pPM, CDC& dc, const RECT& rcFace, bool bHorz, POINT ptShift,
                           const CExtPaintManager::glyph& glyphDrop, const CExtPaintManager::glyph& glyphChevron,
                           bool bNoHiddenButtons, CObject* pHelperSrc, LPARAM lParam)
{
    const SIZE sizePushedOffset = pPM->GetPushedOffset();
    const int nGap = 3 * std::max((int)(bHorz ? sizePushedOffset.cy : sizePushedOffset.cx), 1);
    const int nFaceWidth = rcFace.right - rcFace.left, nFaceHeight = rcFace.bottom - rcFace.top;
    POINT ptDrop, ptChevron;
    if (bHorz)
    {
        ptDrop.x = rcFace.left + (nFaceWidth - glyphDrop.GetWidth()) / 2 + 1;
        ptDrop.y = rcFace.bottom - glyphDrop.GetHeight() - nGap - 1;
        ptChevron.x = rcFace.left + (nFaceWidth - glyphChevron.GetWidth()) / 2 + 1;
        ptChevron.y = rcFace.top + nGap + 1;
    }
    else
    {
        ptChevron = {rcFace.left + nGap + 1, rcFace.top + (nFaceHeight - glyphDrop.GetHeight()) / 2 + 1};
        ptDrop = {rcFace.right - glyphChevron.GetWidth() - nGap - 1,
                  rcFace.top + (nFaceHeight - glyphChevron.GetHeight()) / 2 + 1};
    }
    ptDrop.x += ptShift.x;
    ptDrop.y += ptShift.y;
    ptChevron.x += ptShift.x;
    ptChevron.y += ptShift.y;
    const COLORREF clrLight = pPM->LookupColor(PM::_2003CLR_CHEVRON_GLYPH_LIGHT, pHelperSrc, lParam);
    const COLORREF clrDark = pPM->LookupColor(PM::_2003CLR_CHEVRON_GLYPH_DARK, pHelperSrc, lParam);
    GlyphAt(pPM, dc, ptDrop.x + 1, ptDrop.y + 1, glyphDrop, clrLight);
    if (!bNoHiddenButtons)
        GlyphAt(pPM, dc, ptChevron.x + 1, ptChevron.y + 1, glyphChevron, clrLight);
    GlyphAt(pPM, dc, ptDrop.x, ptDrop.y, glyphDrop, clrDark);
    if (!bNoHiddenButtons)
        GlyphAt(pPM, dc, ptChevron.x, ptChevron.y, glyphChevron, clrDark);
}

}  // namespace

void CExtPaintManagerOffice2003::DrawChevronButton(CDC& dc, const RECT& rcIn, bool bHorz, bool bNoHiddenButtons,
                                                   bool bEnabled, bool bPushed, bool bHover, CObject* pHelperSrc,
                                                   LPARAM lParam, bool bTransparentBackground)
{
    CWnd* pBarWnd = ChevronBarForOwnLook(this, dc, pHelperSrc, lParam, bEnabled);
    HRGN hRgnFace = NULL;
    RECT rcFace = {0, 0, 0, 0};
    POINT ptGlyphShift = {0, 0};
    if (pBarWnd != NULL)
    {
        RECT rcBarClient;
        ::GetClientRect(pBarWnd->GetSafeHwnd(), &rcBarClient);
        const SIZE sizeCorner = ChevronBarCorner(GetToolbarRoundedCornerSize(), bHorz, ptGlyphShift);
        hRgnFace = CreateChevronFaceRgn(rcBarClient, rcIn, sizeCorner, bHorz, rcFace);
    }
    if (hRgnFace == NULL)
    {
        CExtPaintManagerXP::DrawChevronButton(dc, rcIn, bHorz, bNoHiddenButtons, bEnabled, bPushed, bHover, pHelperSrc,
                                              lParam, bTransparentBackground);
        return;
    }
    EnsureChevronGlyphs();
    const glyph& glyphDrop = bHorz ? *m_pGlyphMenuDropHorz : *m_pGlyphMenuDropVert;
    const glyph& glyphChevron = bHorz ? *m_pGlyphMenuChevronHorz : *m_pGlyphMenuChevronVert;
    HDC hDC = dc.GetSafeHdc();
    ::SelectClipRgn(hDC, hRgnFace);
    FillChevronFace(this, dc, rcFace, bHorz, bPushed, bHover, pHelperSrc, lParam);
    DrawChevronFaceGlyphs(this, dc, rcFace, bHorz, ptGlyphShift, glyphDrop, glyphChevron, bNoHiddenButtons, pHelperSrc,
                          lParam);
    ::SelectClipRgn(hDC, NULL);
    ::DeleteObject(hRgnFace);
}

// ---- toolbar border part -----------------------------------------------------------------

void CExtPaintManager::DrawToolbarBorderPart(CDC& dc, const RECT& rcIn, bool bLeadingEdge,
                                             bool bVertical)
{
    const COLORREF clr = LookupColor(COLOR_BTNTEXT);
    RECT rc = rcIn;
    if (bVertical)
    {
        rc.top -= 1;
        rc.bottom += 1;
        const int x = bLeadingEdge ? rc.left : rc.right - 2;
        dc.FillSolidRect(x, rc.top, 2, rc.bottom - rc.top, clr);
        dc.FillSolidRect(x - 2, rc.top, 6, 1, clr);
        dc.FillSolidRect(x - 1, rc.top + 1, 4, 2, clr);
        dc.FillSolidRect(x - 2, rc.bottom - 1, 6, 1, clr);
        dc.FillSolidRect(x - 1, rc.bottom - 3, 4, 2, clr);
    }
    else
    {
        rc.left -= 1;
        rc.right += 1;
        const int y = bLeadingEdge ? rc.top : rc.bottom - 2;
        dc.FillSolidRect(rc.left, y, rc.right - rc.left, 2, clr);
        dc.FillSolidRect(rc.left, y - 2, 1, 6, clr);
        dc.FillSolidRect(rc.left + 1, y - 1, 2, 4, clr);
        dc.FillSolidRect(rc.right - 1, y - 2, 1, 6, clr);
        dc.FillSolidRect(rc.right - 3, y - 1, 2, 4, clr);
    }
}

// ---- menu border -------------------------------------------------------------------------

namespace {

// Moves one side of a rectangle outward by n: 1 bottom, 2 top, 3 left, 4 right.
void ExtendSide(RECT& rc, int nSide, int n)
{
    switch (nSide)
    {
    case 1:
        rc.bottom += n;
        break;
    case 2:
        rc.top -= n;
        break;
    case 3:
        rc.left -= n;
        break;
    case 4:
        rc.right += n;
        break;
    default:
        break;
    }
}

}  // namespace

void CExtPaintManager::DrawMenuBorder(CDC& dc, const RECT& rcOuterIn, const RECT& rcInnerIn,
                                      int nOpenSide, CObject* pHelperSrc, LPARAM lParam)
{
    if (::IsRectEmpty(&rcOuterIn))
        return;
    HDC hDC = dc.GetSafeHdc();
    ::SelectClipRgn(hDC, NULL);
    RECT rcMargins = {0, 0, 0, 0};
    GetMenuBorderMargins(rcMargins, pHelperSrc, lParam);
    const int arrMargins[5] = {0, rcMargins.bottom, rcMargins.top, rcMargins.left, rcMargins.right};
    const int nMargin = (nOpenSide >= 1 && nOpenSide <= 4) ? arrMargins[nOpenSide] : 0;
    RECT rcOuter = rcOuterIn, rcInner = rcInnerIn;
    ExtendSide(rcOuter, nOpenSide, nMargin);
    ExtendSide(rcInner, nOpenSide, nMargin);
    // The border only: the menu's items inside are not touched.
    dc.ExcludeClipRect(&rcInner);
    dc.FillSolidRect(&rcOuter, LookupColor(CLR_3DFACE_OUT, pHelperSrc, lParam));
    const COLORREF arrOuter[2] = {LookupColor(CLR_3DFACE_OUT, pHelperSrc, lParam),
                                  LookupColor(CLR_3DSHADOW_OUT, pHelperSrc, lParam)};
    const COLORREF arrInner[2] = {LookupColor(CLR_3DHILIGHT_OUT, pHelperSrc, lParam),
                                  LookupColor(CLR_3DDKSHADOW_OUT, pHelperSrc, lParam)};
    RECT rc = rcOuter;
    for (int nRing = 0; nRing < 2; nRing++)
    {
        const COLORREF* arr = (nRing == 0) ? arrOuter : arrInner;
        const int w = rc.right - rc.left, h = rc.bottom - rc.top;
        if (nOpenSide != 2)
            dc.FillSolidRect(rc.left, rc.top, w, 1, arr[0]);
        if (nOpenSide != 3)
            dc.FillSolidRect(rc.left, rc.top, 1, h, arr[0]);
        if (nOpenSide != 4)
            dc.FillSolidRect(rc.right - 1, rc.top, 1, h, arr[1]);
        if (nOpenSide != 1)
            dc.FillSolidRect(rc.left, rc.bottom - 1, w, 1, arr[1]);
        ::InflateRect(&rc, -1, -1);
    }
    ::SelectClipRgn(hDC, NULL);
}

void CExtPaintManagerXP::DrawMenuBorder(CDC& dc, const RECT& rcOuterIn, const RECT& rcInnerIn,
                                        int nOpenSide, CObject* pHelperSrc, LPARAM lParam)
{
    if (::IsRectEmpty(&rcOuterIn))
        return;
    HDC hDC = dc.GetSafeHdc();
    RECT rcInner = rcInnerIn;
    ::InflateRect(&rcInner, -1, -1);
    const int nSaved = dc.SaveDC();
    dc.ExcludeClipRect(&rcInner);
    dc.FillSolidRect(&rcOuterIn, LookupColor(XPCLR_3DFACE_DARK, pHelperSrc, lParam));
    // The line on the open side falls outside the window: the menu stays open there.
    RECT rcOuter = rcOuterIn;
    ExtendSide(rcOuter, nOpenSide, 1);
    Frame(dc, rcOuter, LookupColor(XPCLR_MENU_BORDER, pHelperSrc, lParam));
    dc.RestoreDC(nSaved);
    ::SelectClipRgn(hDC, NULL);
}

void CExtPaintManagerOffice2003::DrawMenuBorder(CDC& dc, const RECT& rcOuterIn,
                                                const RECT& rcInnerIn, int nOpenSide,
                                                CObject* pHelperSrc, LPARAM lParam)
{
    if (::IsRectEmpty(&rcOuterIn))
        return;
    if (!NB::IsPopupMenu(pHelperSrc) || DcBits(dc) <= 8)
    {
        CExtPaintManagerXP::DrawMenuBorder(dc, rcOuterIn, rcInnerIn, nOpenSide, pHelperSrc,
                                           lParam);
        return;
    }
    CObject* pCombined = NB::CombinedObject(pHelperSrc);
    const bool bToolbar = NB::IsToolBar(pCombined);
    if (bToolbar && (NB::DockSite(pCombined) == NULL || (NB::DockBarOptions2(pCombined) & 0x04) != 0) &&
        (NB::BarOptions(pCombined) & 0x04) == 0)
    {
        CExtPaintManagerXP::DrawMenuBorder(dc, rcOuterIn, rcInnerIn, nOpenSide, pHelperSrc,
                                           lParam);
        return;
    }
    if (bToolbar && !NB::IsMenuBar(pCombined) &&
        NB::IsExpandButton(NB::ToolbarTrackedButton(pCombined)))
    {
        // The chevron's menu continues the chevron's face.
        if (UsesLunaColors())
            return;
        const SIZE sz = GetToolbarRoundedCornerSize();
        const RECT& r = rcOuterIn;
        RECT rcPatch = {0, 0, 0, 0};
        switch (nOpenSide)
        {
        case 1:
            ::SetRect(&rcPatch, r.right - sz.cx - 2, r.bottom - sz.cy - 1, r.right, r.bottom - 1);
            break;
        case 2:
            ::SetRect(&rcPatch, r.right - sz.cx - 2, r.top + 1, r.right, r.top + 1 + sz.cy);
            break;
        case 3:
            ::SetRect(&rcPatch, r.right - sz.cx, r.bottom - sz.cy - 1, r.right, r.bottom - 1);
            break;
        case 4:
            ::SetRect(&rcPatch, r.right - sz.cx - 2, r.bottom - sz.cy, r.right - 1, r.bottom);
            break;
        default:
            break;
        }
        if (!::IsRectEmpty(&rcPatch))
            dc.FillSolidRect(&rcPatch, LookupColor(_2003CLR_CHEVRON_PUSHED_END, pHelperSrc, lParam));
        return;
    }
    RECT rcOuter = rcOuterIn, rcInner = rcInnerIn;
    ExtendSide(rcOuter, nOpenSide, 1);
    ::InflateRect(&rcInner, -1, -1);
    const bool bCombined = NB::UsesDefaultCombinePainter(pHelperSrc) && pCombined != NULL &&
                           !NB::IsMenuBar(pCombined);
    HDC hDC = dc.GetSafeHdc();
    const int nSaved = dc.SaveDC();
    if (bCombined)
    {
        if (nOpenSide == 4)
        {
            rcOuter.right -= 2;
            rcInner.right -= 2;
        }
        else if (nOpenSide == 3)
        {
            rcOuter.left += 1;
            rcInner.left += 1;
        }
        dc.ExcludeClipRect(&rcInner);
        dc.FillSolidRect(&rcOuter, LookupColor(XPCLR_3DFACE_DARK, pHelperSrc, lParam));
        ::SelectClipRgn(hDC, NULL);
    }
    else
    {
        dc.ExcludeClipRect(&rcInner);
        dc.FillSolidRect(&rcOuter, LookupColor(XPCLR_3DFACE_NORMAL, pHelperSrc, lParam));
    }
    Frame(dc, rcOuter, LookupColor(XPCLR_MENU_BORDER, pHelperSrc, lParam));
    dc.RestoreDC(nSaved);
    ::SelectClipRgn(hDC, NULL);
}

// ---- field box -----------------------------------------------------------------------------

void CExtPaintManager::DrawFieldBox(CDC& dc, PAINTFIELDBOXDATA& _pfbd)
{
    DrawFieldBoxImpl(dc, _pfbd, false);
}

void CExtPaintManagerXP::DrawFieldBox(CDC& dc, PAINTFIELDBOXDATA& _pfbd)
{
    DrawFieldBoxImpl(dc, _pfbd, true);
}

void CExtPaintManager::DrawFieldBoxImpl(CDC& dc, PAINTFIELDBOXDATA& _pfbd, bool bXpLook)
{
    CObject* pSrc = _pfbd.m_pHelperSrc;
    const LPARAM lParam = _pfbd.m_lParam;
    const RECT& rcLabel = _pfbd.m_rcLabel;
    if (_pfbd.m_bInfoBoxOnly)
    {
        if (!_pfbd.m_bInfoColors || rcLabel.left >= rcLabel.right ||
            rcLabel.top >= rcLabel.bottom || !dc.RectVisible(&rcLabel))
            return;
        RECT rc = rcLabel;
        ::InflateRect(&rc, 2, 2);
        dc.FillSolidRect(&rc, LookupColor(COLOR_INFOBK, pSrc, lParam));
        Frame(dc, rc, LookupColor(COLOR_3DDKSHADOW, pSrc, lParam));
        return;
    }
    if (::IsRectEmpty(&_pfbd.m_rcItem) || !dc.RectVisible(&_pfbd.m_rcItem))
        return;
    const bool bBoxed = _pfbd.m_bHover || _pfbd.m_bPressed;
    if (!::IsRectEmpty(&_pfbd.m_rcIcon) && dc.RectVisible(&_pfbd.m_rcIcon))
    {
        CExtCmdIcon* pIcon = _pfbd.m_bPreferFirstIcon ? _pfbd.m_pIconFirst : _pfbd.m_pIconSecond;
        if (pIcon == NULL || pIcon->IsEmpty())
            pIcon = _pfbd.m_pIconFirst;
        if (pIcon == NULL || pIcon->IsEmpty())
            pIcon = _pfbd.m_pIconSecond;
        RECT rcBox = _pfbd.m_rcIcon;
        ::InflateRect(&rcBox, 2, 2);
        if (bBoxed)
        {
            COLORREF clrBox = LookupColor(COLOR_BTNSHADOW, pSrc, lParam);
            if (bXpLook)
                clrBox = LookupColor(_pfbd.m_bPressed ? XPCLR_HILIGHT : CLR_3DFACE_IN, pSrc, lParam);
            dc.FillSolidRect(&rcBox, clrBox);
        }
        if (pIcon != NULL && !pIcon->IsEmpty())
            pIcon->Paint(this, dc.GetSafeHdc(), _pfbd.m_rcIcon.left, _pfbd.m_rcIcon.top,
                         _pfbd.m_rcIcon.right - _pfbd.m_rcIcon.left,
                         _pfbd.m_rcIcon.bottom - _pfbd.m_rcIcon.top, CExtCmdIcon::__PAINT_NORMAL);
        if (bBoxed)
        {
            if (bXpLook)
                Frame(dc, rcBox, LookupColor(XPCLR_HILIGHT_BORDER, pSrc, lParam));
            else if (_pfbd.m_bPressed)
                dc.Draw3dRect(&rcBox, LookupColor(COLOR_3DDKSHADOW, pSrc, lParam),
                              LookupColor(COLOR_BTNFACE, pSrc, lParam));
            else
                dc.Draw3dRect(&rcBox, LookupColor(COLOR_BTNFACE, pSrc, lParam),
                              LookupColor(COLOR_3DDKSHADOW, pSrc, lParam));
        }
    }
    if (::IsRectEmpty(&rcLabel) || !dc.RectVisible(&rcLabel) || _pfbd.m_sLabel.IsEmpty())
        return;
    HDC hDC = dc.GetSafeHdc();
    HGDIOBJ hOldFont = (_pfbd.m_hFont != NULL) ? ::SelectObject(hDC, _pfbd.m_hFont) : NULL;
    int nTextColor = bXpLook ? COLOR_BTNTEXT : COLOR_BTNHIGHLIGHT;
    if (_pfbd.m_bInfoColors)
        nTextColor = COLOR_INFOTEXT;
    const COLORREF clrOld = ::SetTextColor(hDC, LookupColor(nTextColor, pSrc, lParam));
    const int nOldMode = ::SetBkMode(hDC, TRANSPARENT);
    if (_pfbd.m_bVerticalLabel)
    {
        const bool bTopDown = (_pfbd.m_dwFlags2 & 0x10) != 0;
        RECT R = rcLabel;
        R.left -= 3;
        R.right += 3;
        const UINT nOldAlign = ::SetTextAlign(hDC, TA_BASELINE);
        const int w = rcLabel.right - rcLabel.left, h = rcLabel.bottom - rcLabel.top;
        ::OffsetRect(&R, bTopDown ? (2 - w / 2) : (w / 2), 0);
        const int x = (R.left + R.right) / 2;
        const int y = bTopDown ? (R.top + 4) : (R.top + h - 4);
        ::ExtTextOutA(hDC, x, y, ETO_CLIPPED, &R, _pfbd.m_sLabel, _pfbd.m_sLabel.GetLength(), NULL);
        ::SetTextAlign(hDC, nOldAlign);
    }
    else
    {
        RECT L = _pfbd.m_rcLabelBounds;
        L.left += 1;
        L.right -= 1;
        RECT rcText = {std::max(rcLabel.left, L.left), rcLabel.top, std::min(rcLabel.right, L.right),
                       rcLabel.bottom};
        if (rcText.left < rcText.right)
            ::DrawTextA(hDC, _pfbd.m_sLabel, _pfbd.m_sLabel.GetLength(), &rcText,
                        DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS);
    }
    ::SetBkMode(hDC, nOldMode);
    ::SetTextColor(hDC, clrOld);
    if (hOldFont != NULL)
        ::SelectObject(hDC, hOldFont);
}

// ---- text field --------------------------------------------------------------------------

void CExtPaintManager::DrawTextFieldText(CDC& dc, PAINTTEXTFIELDDATA& _ptfd)
{
    if (_ptfd.m_sText.IsEmpty())
        return;
    HDC hDC = dc.GetSafeHdc();
    const COLORREF clrOld =
        ::SetTextColor(hDC, ::GetSysColor(_ptfd.m_bEnabled ? COLOR_BTNTEXT : COLOR_BTNSHADOW));
    HGDIOBJ hOldFont = (m_FontNormal.GetSafeHandle() != NULL)
                           ? ::SelectObject(hDC, m_FontNormal.GetSafeHandle())
                           : NULL;
    const int nOldMode = ::SetBkMode(hDC, TRANSPARENT);
    RECT rc = {_ptfd.m_rcField.left + 5, _ptfd.m_rcField.top + 2, _ptfd.m_rcField.right,
               _ptfd.m_rcField.bottom};
    UINT nFormat = _ptfd.m_nDrawTextFlags;
    if ((g_CurrentResourceManager->GetLangLayout() & 0x01) != 0)
        nFormat |= DT_RIGHT | DT_RTLREADING;
    ::DrawTextA(hDC, _ptfd.m_sText, _ptfd.m_sText.GetLength(), &rc, nFormat);
    ::SetBkMode(hDC, nOldMode);
    if (hOldFont != NULL)
        ::SelectObject(hDC, hOldFont);
    ::SetTextColor(hDC, clrOld);
}

void CExtPaintManager::DrawTextField(CDC& dc, PAINTTEXTFIELDDATA& _ptfd)
{
    CObject* pSrc = _ptfd.m_pHelperSrc;
    const LPARAM lParam = _ptfd.m_lParam;
    const COLORREF clrBack =
        LookupColor(_ptfd.m_bEnabled ? COLOR_WINDOW : COLOR_BTNFACE, pSrc, lParam);
    RECT rcFrame = _ptfd.m_rcItem;
    if (!_ptfd.m_bEnabled)
        ::InflateRect(&rcFrame, -1, -1);
    if (_ptfd.m_bDropDownLook && _ptfd.m_bEnabled)
    {
        dc.FillSolidRect(&rcFrame, clrBack);
        PAINTCOMBOBOXDATA _pcbd(pSrc, rcFrame, _ptfd.m_bHover, _ptfd.m_bPressed, _ptfd.m_bEnabled);
        _pcbd.m_bNoOuterFrame = true;
        DrawComboBoxFrame(dc, _pcbd);
        ::SelectClipRgn(dc.GetSafeHdc(), NULL);
    }
    else if (_ptfd.m_bDropDownLook)
    {
        const COLORREF clrWindow = LookupColor(COLOR_WINDOW, pSrc, lParam);
        Frame(dc, rcFrame, clrWindow);
        RECT rcButton = rcFrame;
        rcButton.left = rcButton.right - GetComboDropDownButtonWidth();
        const COLORREF arrColors[2] = {0, ::GetSysColor(COLOR_BTNTEXT)};
        DrawGlyph(dc, rcButton, *g_ButtonGlyphs[37], arrColors);
    }
    else if (_ptfd.m_bEnabled)
    {
        if (_ptfd.m_bHover || _ptfd.m_bPressed)
            dc.Draw3dRect(&rcFrame, LookupColor(COLOR_BTNSHADOW, pSrc, lParam),
                          LookupColor(COLOR_BTNHIGHLIGHT, pSrc, lParam));
    }
    else
        Frame(dc, rcFrame, LookupColor(COLOR_WINDOW, pSrc, lParam));
    RECT rcField = _ptfd.m_rcField;
    if (!_ptfd.m_bEnabled)
    {
        rcField.top += 1;
        rcField.bottom -= 1;
    }
    dc.FillSolidRect(&rcField, clrBack);
    DrawTextFieldText(dc, _ptfd);
}

void CExtPaintManagerXP::DrawTextField(CDC& dc, PAINTTEXTFIELDDATA& _ptfd)
{
    CObject* pSrc = _ptfd.m_pHelperSrc;
    const LPARAM lParam = _ptfd.m_lParam;
    const COLORREF H = LookupColor(XPCLR_HILIGHT_BORDER, pSrc, lParam);
    const bool bAtRest = _ptfd.m_bEnabled && !_ptfd.m_bHover && !_ptfd.m_bPressed;
    RECT R = _ptfd.m_rcField;
    R.bottom += 1;
    if (!bAtRest)
        ::InflateRect(&R, 1, 1);
    const COLORREF clrFill = ::GetSysColor(_ptfd.m_bEnabled ? COLOR_WINDOW : COLOR_BTNFACE);
    const COLORREF clrDisabledFrame = LookupColor(XPCLR_TEXT_FIELD_BORDER_DISABLED, pSrc, lParam);
    HDC hDC = dc.GetSafeHdc();
    if (_ptfd.m_bDropDownLook)
    {
        const int w = GetComboDropDownButtonWidth();
        const int nOldRight = R.right;
        R.right += w;
        RECT K = {nOldRight, R.top, nOldRight + w, R.bottom};
        const int nSaved = dc.SaveDC();
        if (bAtRest)
        {
            const RECT rcKeep = {K.left + 3, K.top + 1, K.right - 1, K.bottom - 1};
            dc.ExcludeClipRect(&rcKeep);
        }
        dc.FillSolidRect(&R, clrFill);
        dc.RestoreDC(nSaved);
        ::SelectClipRgn(hDC, NULL);
        if (_ptfd.m_bHover && _ptfd.m_bEnabled)
        {
            PAINTBUTTONDATA _ppbd(this, true, K, "", NULL, true, _ptfd.m_bHover, _ptfd.m_bPressed,
                                  false, _ptfd.m_bEnabled, true, false, false, 0);
            DrawPushButton(dc, _ppbd);
            Frame(dc, R, H);
        }
        else if (!_ptfd.m_bEnabled)
            Frame(dc, R, clrDisabledFrame);
        K.top += 1;
        if (!_ptfd.m_bEnabled)
            K.left += 1;
        COLORREF clrArrow = ::GetSysColor(COLOR_BTNSHADOW);
        if (_ptfd.m_bEnabled)
            clrArrow = LookupColor(_ptfd.m_bPressed ? COLOR_3DDKSHADOW : COLOR_BTNTEXT, pSrc, lParam);
        const COLORREF arrColors[2] = {0, clrArrow};
        DrawGlyph(dc, K, *g_ButtonGlyphs[37], arrColors);
        R.right -= w;
    }
    else
    {
        dc.FillSolidRect(&R, clrFill);
        if (!_ptfd.m_bEnabled)
            Frame(dc, R, clrDisabledFrame);
        else if (_ptfd.m_bHover || _ptfd.m_bPressed)
            Frame(dc, R, H);
    }
    DrawTextFieldText(dc, _ptfd);
}

// ---- theme metrics -----------------------------------------------------------------------

POINT CExtPaintManagerOffice2003::GetTextOffset(POINT& ptOffset, bool bFlag)
{
    ptOffset.x = 0;
    ptOffset.y = bFlag ? -1 : 0;
    return ptOffset;
}
