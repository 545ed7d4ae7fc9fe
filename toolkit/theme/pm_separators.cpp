// The small framed elements of bars and controls: separators between toolbar buttons,
// status-bar panes and menu items; borders of dock bars, status bars and their panes;
// the status bar's size grip; the frame around an edit; the frame and drop-down button
// around a combo box.
#include "toolkit/theme/paint_manager.h"
#include "toolkit/theme/pm_bar_parts.h"
#include "toolkit/theme/pm_glyphs.h"
#include "toolkit/theme/pm_neighbours.h"
#include "toolkit/theme/pm_push_button.h"
#include "toolkit/core/bitmap.h"

typedef CExtPmNeighbours NB;

CExtPaintManager::PAINTEDITFRAMEDATA::PAINTEDITFRAMEDATA(CObject* pHelperSrc,
                                                         const RECT& rcEditClient, bool bFlag0,
                                                         bool bHover, bool bEnabled, bool bFocus,
                                                         bool bReadOnly)
    : m_pHelperSrc(pHelperSrc),
      m_lParam(0),
      m_rcEditClient(rcEditClient),
      m_bFlag0(bFlag0),
      m_bHover(bHover),
      m_bEnabled(bEnabled),
      m_bFocus(bFocus),
      m_bReadOnly(bReadOnly),
      m_bReserved5(false),
      m_bReserved6(false),
      m_bReserved7(false)
{
}

CExtPaintManager::PAINTCOMBOBOXDATA::PAINTCOMBOBOXDATA(CObject* pHelperSrc, const RECT& rcClient,
                                                       bool bHover, bool bPushed, bool bEnabled)
    : m_pHelperSrc(pHelperSrc),
      m_lParam(0),
      m_rcClient(rcClient),
      m_bHover(bHover),
      m_bPushed(bPushed),
      m_bEnabled(bEnabled),
      m_bReserved3(false),
      m_bReserved4(false),
      m_bReserved5(false),
      m_bReserved6(false),
      m_bReserved7(false),
      m_clrForceFrame(COLORREF(-1)),
      m_clrForceFace(COLORREF(-1)),
      m_clrForceFaceHot(COLORREF(-1)),
      m_bNoOuterFrame(false),
      m_bReserved2_1(false),
      m_bReserved2_2(false),
      m_bReserved2_3(false),
      m_bReserved2_4(false),
      m_bReserved2_5(false),
      m_bReserved2_6(false),
      m_bReserved2_7(false)
{
}

CExtPaintManager::PAINTBARBORDERDATA::PAINTBARBORDERDATA(CObject* pHelperSrc, int nKind,
                                                         DWORD dwStyle, const RECT& rc)
    : m_pHelperSrc(pHelperSrc), m_lParam(0), m_nKind(nKind), m_dwStyle(dwStyle), m_rc(rc)
{
}

namespace {

int DcBits(CDC& dc) { return CExtPaintManager::GetDcBitsPerPixel(dc.GetSafeHdc()); }

void Frame(CDC& dc, const RECT& rc, COLORREF clr) { dc.Draw3dRect(&rc, clr, clr); }

RECT Grown(const RECT& rc, int n)
{
    RECT r = rc;
    ::InflateRect(&r, n, n);
    return r;
}

// The drop-down arrow of combo boxes and text fields, centred in a rectangle.
void DrawComboArrow(CExtPaintManager* pPM, CDC& dc, const RECT& rc, COLORREF clr)
{
    const COLORREF arrColors[2] = {0, clr};
    pPM->DrawGlyph(dc, rc, *g_ButtonGlyphs[37], arrColors);
}

}  // namespace

// ---- separators ------------------------------------------------------------------------------

void CExtPaintManager::DrawSeparator(CDC& dc, const RECT& rcIn, bool bVertLine,
                                     bool bTransparentBk, CObject* pHelperSrc, LPARAM lParam)
{
    if (!bTransparentBk)
        dc.FillSolidRect(&rcIn, LookupColor(CLR_3DFACE_OUT, pHelperSrc, lParam));
    RECT rc = rcIn;
    if (bVertLine)
    {
        rc.bottom -= 1;
        const int nMiddle = (rc.left + rc.right) / 2;
        rc.left = nMiddle - 1;
        rc.right = nMiddle + 1;
    }
    else
    {
        rc.right -= 1;
        const int nMiddle = (rc.top + rc.bottom) / 2;
        rc.top = nMiddle - 1;
        rc.bottom = nMiddle + 1;
    }
    dc.Draw3dRect(&rc, LookupColor(CLR_3DSHADOW_OUT, pHelperSrc, lParam),
                  LookupColor(CLR_3DHILIGHT_OUT, pHelperSrc, lParam));
}

void CExtPaintManagerXP::DrawSeparator(CDC& dc, const RECT& rcIn, bool bVertLine,
                                       bool bTransparentBk, CObject* pHelperSrc, LPARAM lParam)
{
    if (!bTransparentBk)
        dc.FillSolidRect(&rcIn, LookupColor(CLR_3DFACE_OUT, pHelperSrc, lParam));
    RECT rc = rcIn;
    if (bVertLine)
    {
        rc.left += (rc.right - rc.left) / 2 - 1;
        rc.right = rc.left + 1;
        rc.top += 1;
        rc.bottom -= 1;
    }
    else
    {
        rc.top += (rc.bottom - rc.top) / 2 - 1;
        rc.bottom = rc.top + 1;
        rc.left += 1;
        rc.right -= 1;
    }
    dc.FillSolidRect(&rc, LookupColor(XPCLR_SEPARATOR, pHelperSrc, lParam));
}

void CExtPaintManagerOffice2003::DrawSeparator(CDC& dc, const RECT& rcIn, bool bVertLine,
                                               bool bTransparentBk, CObject* pHelperSrc,
                                               LPARAM lParam)
{
    const bool bStatusBar = NB::IsStatusBar(pHelperSrc);
    if (!(NB::IsToolBar(pHelperSrc) || NB::IsBarButton(pHelperSrc) || bStatusBar) ||
        DcBits(dc) <= 8)
    {
        CExtPaintManagerXP::DrawSeparator(dc, rcIn, bVertLine, bTransparentBk, pHelperSrc,
                                          lParam);
        return;
    }
    if (!bTransparentBk)
        dc.FillSolidRect(&rcIn, LookupColor(CLR_3DFACE_OUT, pHelperSrc, lParam));
    RECT rc = rcIn;
    if (bVertLine)
    {
        const int nMiddle = (rc.left + rc.right) / 2;
        rc.left = nMiddle - 1;
        rc.right = nMiddle + 1;
        if (!bStatusBar)
            ::InflateRect(&rc, 0, -2);
    }
    else
    {
        const int nMiddle = (rc.top + rc.bottom) / 2;
        rc.top = nMiddle - 1;
        rc.bottom = nMiddle + 1;
        if (!bStatusBar)
            ::InflateRect(&rc, -3, 0);
    }
    dc.Draw3dRect(&rc, LookupColor(_2003CLR_SEPARATOR_DARK, pHelperSrc, lParam),
                  LookupColor(_2003CLR_SEPARATOR_LIGHT, pHelperSrc, lParam));
}

void CExtPaintManagerStudio2005::DrawSeparator(CDC& dc, const RECT& rcIn, bool bVertLine,
                                               bool bTransparentBk, CObject* pHelperSrc,
                                               LPARAM lParam)
{
    if (!NB::IsToolBar(pHelperSrc) || DcBits(dc) <= 8)
    {
        CExtPaintManagerOffice2003::DrawSeparator(dc, rcIn, bVertLine, bTransparentBk,
                                                  pHelperSrc, lParam);
        return;
    }
    if (!bTransparentBk)
        dc.FillSolidRect(&rcIn, LookupColor(CLR_3DFACE_OUT, pHelperSrc, lParam));
    const COLORREF clrLine =
        CExtBitmap::stat_RGB_Blend(LookupColor(COLOR_BTNFACE, pHelperSrc, lParam),
                                   LookupColor(COLOR_BTNSHADOW, pHelperSrc, lParam), 144);
    CPen pen;
    pen.CreatePen(PS_SOLID, 1, clrLine);
    CPen* pOldPen = dc.SelectObject(&pen);
    if (bVertLine)
    {
        const int x = (rcIn.left + rcIn.right) / 2;
        dc.MoveTo(x, rcIn.top + 1);
        dc.LineTo(x, rcIn.bottom - 1);
    }
    else
    {
        const int y = (rcIn.top + rcIn.bottom) / 2;
        dc.MoveTo(rcIn.left + 1, y);
        dc.LineTo(rcIn.right - 3, y);
    }
    dc.SelectObject(pOldPen);
}

// ---- edit frames -----------------------------------------------------------------------------

void CExtPaintManager::DrawEditFrame(CDC& dc, PAINTEDITFRAMEDATA& _pefd)
{
    CObject* pSrc = _pefd.m_pHelperSrc;
    const LPARAM lParam = _pefd.m_lParam;
    const COLORREF clrFace = LookupColor(CLR_3DFACE_OUT, pSrc, lParam);
    COLORREF clrA = clrFace, clrB = clrFace, clrC = clrFace, clrD = clrFace;
    const bool bHot = _pefd.m_bHover || _pefd.m_bFocus;
    if (_pefd.m_bEnabled)
    {
        if (_pefd.m_bHover && _pefd.m_bFocus)
        {
            clrA = LookupColor(COLOR_3DDKSHADOW, pSrc, lParam);
            clrB = LookupColor(COLOR_BTNFACE, pSrc, lParam);
            clrC = LookupColor(COLOR_BTNHIGHLIGHT, pSrc, lParam);
            clrD = LookupColor(COLOR_BTNSHADOW, pSrc, lParam);
        }
        else if (bHot)
        {
            clrA = LookupColor(COLOR_BTNSHADOW, pSrc, lParam);
            clrB = LookupColor(COLOR_BTNHIGHLIGHT, pSrc, lParam);
        }
    }
    RECT rc = Grown(_pefd.m_rcEditClient, 2);
    Frame(dc, rc, LookupColor(COLOR_WINDOW, pSrc, lParam));
    if (!bHot)
        ::InflateRect(&rc, 1, 1);
    dc.Draw3dRect(&rc, clrA, clrB);
    ::InflateRect(&rc, 1, 1);
    dc.Draw3dRect(&rc, clrC, clrD);
}

void CExtPaintManagerXP::DrawEditFrame(CDC& dc, PAINTEDITFRAMEDATA& _pefd)
{
    CObject* pSrc = _pefd.m_pHelperSrc;
    const LPARAM lParam = _pefd.m_lParam;
    const bool bHot = _pefd.m_bHover || _pefd.m_bFocus;
    const COLORREF clrHighlight = LookupColor(XPCLR_HILIGHT_BORDER, pSrc, lParam);
    const COLORREF clrFace = LookupColor(CLR_3DFACE_OUT, pSrc, lParam);
    const COLORREF clrMiddle = (_pefd.m_bEnabled && bHot) ? clrHighlight : clrFace;
    const COLORREF clrOuter =
        (_pefd.m_bEnabled && _pefd.m_bHover && _pefd.m_bFocus) ? clrHighlight : clrFace;
    RECT rc = Grown(_pefd.m_rcEditClient, 2);
    Frame(dc, rc, LookupColor(COLOR_WINDOW, pSrc, lParam));
    if (!bHot)
        ::InflateRect(&rc, 1, 1);
    Frame(dc, rc, clrMiddle);
    ::InflateRect(&rc, 1, 1);
    Frame(dc, rc, clrOuter);
}

void CExtPaintManagerOffice2003::DrawEditFrame(CDC& dc, PAINTEDITFRAMEDATA& _pefd)
{
    CExtPaintManagerXP::DrawEditFrame(dc, _pefd);
    CObject* pSrc = _pefd.m_pHelperSrc;
    if (pSrc == NULL || !pSrc->IsKindOf(RUNTIME_CLASS(CEdit)))
        return;
    // Beyond the rings that show, the edit stands on its parent's background.
    RECT rcKeep = Grown(_pefd.m_rcEditClient, 2);
    if (_pefd.m_bEnabled && (_pefd.m_bHover || _pefd.m_bFocus))
    {
        ::InflateRect(&rcKeep, -1, -1);
        if (_pefd.m_bHover)
            ::InflateRect(&rcKeep, 1, 1);
        if (_pefd.m_bFocus)
            ::InflateRect(&rcKeep, 1, 1);
    }
    const int nSaved = dc.SaveDC();
    dc.ExcludeClipRect(&rcKeep);
    DrawWindowBackground(true, dc, static_cast<CWnd*>(pSrc), _pefd.m_lParam);
    dc.RestoreDC(nSaved);
}

// ---- combo-box frames ------------------------------------------------------------------------

void CExtPaintManager::DrawComboBoxFrame(CDC& dc, PAINTCOMBOBOXDATA& _pcbd)
{
    CObject* pSrc = _pcbd.m_pHelperSrc;
    const LPARAM lParam = _pcbd.m_lParam;
    const bool bHot = _pcbd.m_bHover || _pcbd.m_bPushed;
    COLORREF clrO1 = LookupColor(CLR_3DFACE_OUT, pSrc, lParam), clrO2 = clrO1;
    if (_pcbd.m_clrForceFace != COLORREF(-1))
        clrO1 = clrO2 = _pcbd.m_clrForceFace;
    if (bHot)
    {
        clrO1 = LookupColor(CLR_3DSHADOW_IN, pSrc, lParam);
        clrO2 = LookupColor(CLR_3DHILIGHT_IN, pSrc, lParam);
    }
    COLORREF clrInner =
        LookupColor(_pcbd.m_bEnabled ? CLR_3DFACE_OUT : CLR_3DHILIGHT_OUT, pSrc, lParam);
    COLORREF clrButtonBk =
        LookupColor(_pcbd.m_bEnabled ? COLOR_WINDOW : COLOR_BTNFACE, pSrc, lParam);
    if (_pcbd.m_clrForceFrame != COLORREF(-1) && !bHot)
        clrInner = clrButtonBk = _pcbd.m_clrForceFrame;

    RECT rc = _pcbd.m_rcClient;
    dc.Draw3dRect(&rc, clrO1, clrO2);
    ::InflateRect(&rc, -1, -1);
    Frame(dc, rc, clrInner);
    RECT rcButton = rc;
    rcButton.left = rcButton.right - GetComboDropDownButtonWidth();
    if (bHot)
        Frame(dc, rcButton, clrInner);
    ::InflateRect(&rcButton, -1, -1);
    PAINTBUTTONDATA _ppbd(pSrc, true, rcButton, "", NULL, true, _pcbd.m_bHover && !_pcbd.m_bPushed,
                          _pcbd.m_bPushed, false, _pcbd.m_bEnabled, false, false, false, 0);
    DrawPushButton(dc, _ppbd);
    if (!bHot)
        Frame(dc, rcButton, clrButtonBk);
    RECT rcGlyph = rcButton;
    if (_pcbd.m_bPushed)
        ::OffsetRect(&rcGlyph, 1, 1);
    DrawComboArrow(this, dc, rcGlyph, ::GetSysColor(COLOR_BTNTEXT));
}

void CExtPaintManagerXP::DrawComboBoxFrame(CDC& dc, PAINTCOMBOBOXDATA& _pcbd)
{
    CObject* pSrc = _pcbd.m_pHelperSrc;
    const LPARAM lParam = _pcbd.m_lParam;
    const bool bHot = _pcbd.m_bHover || _pcbd.m_bPushed;
    const bool bInMenu = NB::IsPopupMenu(pSrc);
    COLORREF clrFrame = LookupColor(XPCLR_3DFACE_NORMAL, pSrc, lParam);
    COLORREF clrFace = LookupColor(CLR_3DFACE_OUT, pSrc, lParam);
    COLORREF clrButtonBk =
        LookupColor(_pcbd.m_bEnabled ? COLOR_WINDOW : COLOR_BTNFACE, pSrc, lParam);
    if (_pcbd.m_clrForceFace != COLORREF(-1))
        clrFace = _pcbd.m_clrForceFace;
    if (_pcbd.m_clrForceFrame != COLORREF(-1) && !bHot)
        clrFrame = clrButtonBk = _pcbd.m_clrForceFrame;
    const COLORREF clrHot = LookupColor(XPCLR_HILIGHT_BORDER, pSrc, lParam);

    RECT rc = _pcbd.m_rcClient;
    if (!bInMenu)
    {
        if (!_pcbd.m_bNoOuterFrame)
            Frame(dc, rc, clrFace);
        ::InflateRect(&rc, -1, -1);
    }
    Frame(dc, rc, bHot ? clrHot : clrFrame);
    RECT rcButton = rc;
    ::InflateRect(&rcButton, -1, -1);
    rcButton.left = rcButton.right - GetComboDropDownButtonWidth();
    if (!_pcbd.m_bEnabled)
        ::InflateRect(&rcButton, -1, -1);
    if (bInMenu && !bHot)
    {
        rcButton.top += 1;
        rcButton.right -= 1;
        rcButton.bottom -= 1;
    }
    PAINTBUTTONDATA _ppbd(pSrc, true, rcButton, "", NULL, true, _pcbd.m_bHover, _pcbd.m_bPushed,
                          false, _pcbd.m_bEnabled, true, false, false, 0);
    DrawPushButton(dc, _ppbd);
    if (!bHot)
        Frame(dc, rcButton, clrButtonBk);
    COLORREF clrArrow = ::GetSysColor(COLOR_BTNSHADOW);
    if (_pcbd.m_bEnabled)
        clrArrow = LookupColor(_pcbd.m_bPushed ? COLOR_3DDKSHADOW : COLOR_BTNTEXT, pSrc, lParam);
    DrawComboArrow(this, dc, rcButton, clrArrow);
}

void CExtPaintManagerOffice2003::DrawComboBoxFrame(CDC& dc, PAINTCOMBOBOXDATA& _pcbd)
{
    CObject* pSrc = _pcbd.m_pHelperSrc;
    const LPARAM lParam = _pcbd.m_lParam;
    const bool bComboBox = pSrc != NULL && pSrc->IsKindOf(RUNTIME_CLASS(CComboBox));
    const bool bInMenu = NB::IsPopupMenu(pSrc);
    const bool bOwnLook = _pcbd.m_bEnabled && !_pcbd.HasOverrides() &&
                          (bComboBox || NB::IsBarButton(pSrc) || bInMenu) &&
                          UsesParentBackground(pSrc, lParam) && DcBits(dc) > 8;
    if (!bOwnLook)
    {
        CExtPaintManagerXP::DrawComboBoxFrame(dc, _pcbd);
        if (bComboBox && !_pcbd.m_bEnabled)
        {
            // The border ring of a disabled combo box shows its parent's background.
            RECT rcInside = _pcbd.m_rcClient;
            ::InflateRect(&rcInside, -1, -1);
            const int nSaved = dc.SaveDC();
            dc.ExcludeClipRect(&rcInside);
            DrawWindowBackground(true, dc, static_cast<CWnd*>(pSrc), lParam);
            dc.RestoreDC(nSaved);
        }
        return;
    }
    const int w = GetComboDropDownButtonWidth();
    const bool bHot = _pcbd.m_bHover || _pcbd.m_bPushed;
    RECT R = _pcbd.m_rcClient;
    if (!bInMenu)
        ::InflateRect(&R, -1, -1);
    const RECT K = {R.right - w, R.top, R.right, R.bottom};
    const RECT F = {R.left + 1, R.top + 1, R.right - w - 2, R.bottom - 1};

    HDC hDC = dc.GetSafeHdc();
    HRGN hRgnClip = NULL, hRgnField = NULL;
    bool bClipped = false;
    if (!bInMenu)
    {
        hRgnClip = ::CreateRectRgnIndirect(&_pcbd.m_rcClient);
        hRgnField = ::CreateRectRgnIndirect(&F);
        if (hRgnClip != NULL && hRgnField != NULL &&
            ::CombineRgn(hRgnClip, hRgnClip, hRgnField, RGN_DIFF) != ERROR)
        {
            ::SelectClipRgn(hDC, hRgnClip);
            bClipped = true;
        }
    }
    if (bComboBox && !DrawWindowBackground(true, dc, static_cast<CWnd*>(pSrc), lParam))
    {
        if (bClipped)
            ::SelectClipRgn(hDC, NULL);
        if (hRgnClip != NULL)
            ::DeleteObject(hRgnClip);
        if (hRgnField != NULL)
            ::DeleteObject(hRgnField);
        CExtPaintManagerXP::DrawComboBoxFrame(dc, _pcbd);
        return;
    }
    if (!bInMenu)
    {
        const COLORREF clrWindow = LookupColor(COLOR_WINDOW, pSrc, lParam);
        Frame(dc, R, clrWindow);
        // These cover the edge of the button as the platform draws it.
        for (int k = 0; k < 4; k++)
        {
            const RECT r = {R.left, R.top + 1, R.right + 1 - w - k, R.bottom - 1};
            Frame(dc, r, clrWindow);
        }
    }
    if (bHot)
        Frame(dc, R, LookupColor(XPCLR_HILIGHT_BORDER, pSrc, lParam));
    else if (bInMenu)
    {
        const RECT r = {K.left + 1, K.top + 2, K.right - 2, K.bottom - 2};
        dc.FillSolidRect(&r, LookupColor(XPCLR_TEXT_FIELD_BORDER_NORMAL, pSrc, lParam));
    }
    PAINTBUTTONDATA _ppbd(this, true, K, "", NULL, true, bHot, _pcbd.m_bPushed, false,
                          _pcbd.m_bEnabled, true, false, false, 0, NULL, false, 0, !bHot);
    DrawPushButton(dc, _ppbd);
    DrawComboArrow(this, dc, K,
                   LookupColor(_pcbd.m_bPushed ? XPCLR_PUSHEDHOVERTEXT : COLOR_BTNTEXT, pSrc,
                               lParam));
    if (bClipped)
        ::SelectClipRgn(hDC, NULL);
    if (hRgnClip != NULL)
        ::DeleteObject(hRgnClip);
    if (hRgnField != NULL)
        ::DeleteObject(hRgnField);
}

// ---- bar borders ---------------------------------------------------------------------------

void CExtPaintManager::DrawBarBorderLines(CDC& dc, PAINTBARBORDERDATA& _pbbd)
{
    const DWORD dwStyle = _pbbd.m_dwStyle;
    if ((dwStyle & (CBRS_BORDER_LEFT | CBRS_BORDER_TOP | CBRS_BORDER_RIGHT | CBRS_BORDER_BOTTOM)) ==
        0)
        return;
    const COLORREF clrDark = LookupColor(CLR_3DFACE_OUT, _pbbd.m_pHelperSrc, _pbbd.m_lParam);
    const COLORREF clrLight = clrDark;
    const RECT& rc = _pbbd.m_rc;
    const bool b3d = (dwStyle & CBRS_BORDER_3D) != 0;
    // The dark right and bottom lines sit one pixel further in when a light line follows.
    const int nRight = b3d ? rc.right - 1 : rc.right;
    const int nBottom = b3d ? rc.bottom - 1 : rc.bottom;
    const int nBorder2 = ::GetSystemMetrics(SM_CYBORDER) * 2;
    int nSideTop = rc.top, nSideBottom = rc.bottom;
    if ((dwStyle & CBRS_BORDER_TOP) != 0)
        nSideTop += nBorder2;
    if ((dwStyle & CBRS_BORDER_BOTTOM) != 0)
        nSideBottom -= nBorder2;
    const int nSideHeight = nSideBottom - nSideTop;
    if ((dwStyle & CBRS_BORDER_LEFT) != 0)
        dc.FillSolidRect(0, nSideTop, 1, nSideHeight, clrDark);
    if ((dwStyle & CBRS_BORDER_TOP) != 0)
        dc.FillSolidRect(0, 0, rc.right, 1, clrDark);
    if ((dwStyle & CBRS_BORDER_RIGHT) != 0)
        dc.FillSolidRect(nRight - 1, nSideTop, 1, nSideHeight, clrDark);
    if ((dwStyle & CBRS_BORDER_BOTTOM) != 0)
        dc.FillSolidRect(0, nBottom - 1, rc.right, 1, clrDark);
    if (!b3d)
        return;
    if ((dwStyle & CBRS_BORDER_LEFT) != 0)
        dc.FillSolidRect(1, nSideTop, 1, nSideHeight, clrLight);
    if ((dwStyle & CBRS_BORDER_TOP) != 0)
        dc.FillSolidRect(0, 1, rc.right, 1, clrLight);
    if ((dwStyle & CBRS_BORDER_RIGHT) != 0)
        dc.FillSolidRect(rc.right - 1, nSideTop, 1, nSideHeight, clrLight);
    if ((dwStyle & CBRS_BORDER_BOTTOM) != 0)
        dc.FillSolidRect(0, rc.bottom - 1, rc.right, 1, clrLight);
}

void CExtPaintManager::DrawBarBorder(CDC& dc, PAINTBARBORDERDATA& _pbbd)
{
    if (_pbbd.m_nKind == PAINTBARBORDERDATA::__BB_STATUS_PANE)
    {
        dc.Draw3dRect(&_pbbd.m_rc, LookupColor(CLR_3DSHADOW_OUT, _pbbd.m_pHelperSrc, _pbbd.m_lParam),
                      LookupColor(CLR_3DHILIGHT_OUT, _pbbd.m_pHelperSrc, _pbbd.m_lParam));
        return;
    }
    DrawBarBorderLines(dc, _pbbd);
}

void CExtPaintManagerXP::DrawBarBorder(CDC& dc, PAINTBARBORDERDATA& _pbbd)
{
    if (_pbbd.m_nKind == PAINTBARBORDERDATA::__BB_STATUS_PANE)
    {
        Frame(dc, _pbbd.m_rc, LookupColor(COLOR_BTNSHADOW, _pbbd.m_pHelperSrc, _pbbd.m_lParam));
        return;
    }
    DrawBarBorderLines(dc, _pbbd);
}

void CExtPaintManagerOffice2003::DrawBarBorder(CDC& dc, PAINTBARBORDERDATA& _pbbd)
{
    if (_pbbd.m_nKind == PAINTBARBORDERDATA::__BB_STATUS_PANE)
    {
        Frame(dc, _pbbd.m_rc, LookupColor(3014, _pbbd.m_pHelperSrc, _pbbd.m_lParam));
        return;
    }
    DrawBarBorderLines(dc, _pbbd);
}

// ---- size grip -------------------------------------------------------------------------------

void CExtPaintManager::DrawSizeGrip(CDC& dc, const RECT& rc, CObject* pHelperSrc, LPARAM lParam)
{
    if (rc.left > rc.right || rc.top > rc.bottom || !dc.RectVisible(&rc))
        return;
    CPen penDark, penLight;
    penDark.CreatePen(PS_SOLID, 1, LookupColor(COLOR_BTNSHADOW, pHelperSrc, lParam));
    penLight.CreatePen(PS_SOLID, 1, LookupColor(COLOR_WINDOW, pHelperSrc, lParam));
    CPen* pOldPen = dc.SelectObject(&penDark);
    int x = rc.right - 2, y = rc.bottom - 3;
    for (int i = 0; i < 3; i++)
    {
        dc.SelectObject(&penDark);
        dc.MoveTo(x, rc.bottom - 1);
        dc.LineTo(rc.right, y);
        dc.MoveTo(x - 1, rc.bottom - 1);
        dc.LineTo(rc.right, y - 1);
        dc.SelectObject(&penLight);
        dc.MoveTo(x - 2, rc.bottom - 1);
        dc.LineTo(rc.right, y - 2);
        x -= 4;
        y -= 4;
    }
    dc.SelectObject(pOldPen);
}

void CExtPaintManagerOffice2003::DrawSizeGrip(CDC& dc, const RECT& rc, CObject* pHelperSrc,
                                              LPARAM lParam)
{
    if (DcBits(dc) <= 8)
    {
        CExtPaintManagerXP::DrawSizeGrip(dc, rc, pHelperSrc, lParam);
        return;
    }
    if (rc.left > rc.right || rc.top > rc.bottom || !dc.RectVisible(&rc))
        return;
    const COLORREF clrDot = LookupColor(3003, pHelperSrc, lParam);
    const COLORREF clrShadow = LookupColor(3002, pHelperSrc, lParam);
    // A triangle of 3, 2 and 1 dots whose last shadow touches the corner.
    for (int nColumn = 0; nColumn < 3; nColumn++)
        for (int nRow = 0; nRow < 3 - nColumn; nRow++)
        {
            const int x = rc.right - 3 - nColumn * 4;
            const int y = rc.bottom - 3 - nRow * 4;
            dc.FillSolidRect(x + 1, y + 1, 2, 2, clrShadow);
            dc.FillSolidRect(x, y, 2, 2, clrDot);
        }
}
