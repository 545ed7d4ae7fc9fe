// Spin buttons, group boxes, date-picker pieces, the undo/redo caption, report headers
// and the Office 2003 bar and menu gradients.
#include "toolkit/theme/paint_manager.h"
#include "toolkit/theme/pm_small_controls.h"
#include "toolkit/theme/pm_push_button.h"
#include "toolkit/theme/pm_neighbours.h"
#include "toolkit/core/bitmap.h"

CExtPmSmallControlQueries::Queries CExtPmSmallControlQueries::g_queries = {};

namespace {

bool Visible(CDC& dc, const RECT& rc)
{
    return rc.left < rc.right && rc.top < rc.bottom && dc.RectVisible(&rc);
}

bool GradientsPossible(CDC& dc) { return CExtPaintManager::GetDcBitsPerPixel(dc.GetSafeHdc()) > 8; }

void FrameWithColor(CDC& dc, const RECT& rc, COLORREF clr)
{
    CBrush br;
    if (br.CreateSolidBrush(clr))
        dc.FrameRect(&rc, &br);
}

HWND HwndOf(CObject* pObj)
{
    if (pObj == NULL || !pObj->IsKindOf(RUNTIME_CLASS(CWnd)))
        return NULL;
    return static_cast<CWnd*>(pObj)->GetSafeHwnd();
}

}  // namespace

// ---- date picker ------------------------------------------------------------------------------

void CExtPaintManager::DrawDatePickerButton(CDC& dc, const RECT& rc, int, LPCTSTR sText,
                                            bool bFlat, bool bDrawBorderOnHover, bool bPushed,
                                            bool bHover, CObject* pHelperSrc, LPARAM lParam)
{
    if (!Visible(dc, rc))
        return;
    PAINTBUTTONDATA _ppbd(pHelperSrc, true, rc, sText, NULL, bFlat, bHover, bPushed, false, true,
                          bDrawBorderOnHover, false, false, 9, NULL, false, 0, false);
    _ppbd.m_lParam = lParam;
    DrawPushButton(dc, _ppbd);
}

void CExtPaintManager::DrawDatePickerShadow(CDC& dc, const RECT& rc, CObject* pHelperSrc,
                                            LPARAM lParam)
{
    if (Visible(dc, rc))
        dc.FillSolidRect(&rc, LookupColor(COLOR_BTNSHADOW, pHelperSrc, lParam));
}

void CExtPaintManager::DrawDatePickerBackground(CDC& dc, const RECT& rcOuter, const RECT& rcInner,
                                                CObject* pHelperSrc, LPARAM lParam)
{
    if (!Visible(dc, rcOuter))
        return;
    if (HwndOf(pHelperSrc) != NULL && UsesParentBackground(pHelperSrc, lParam))
        AskParentForBackground(true, dc, pHelperSrc, lParam);
    else
        dc.FillSolidRect(&rcOuter, LookupColor(CLR_3DFACE_OUT, pHelperSrc, lParam));
    if (rcInner.left < rcInner.right && rcInner.top < rcInner.bottom)
        dc.FillSolidRect(&rcInner, LookupColor(COLOR_WINDOW, pHelperSrc, lParam));
}

void CExtPaintManager::DrawDatePickerBorder(CDC& dc, const RECT& rcIn, CObject* pHelperSrc,
                                            LPARAM lParam)
{
    if (!Visible(dc, rcIn))
        return;
    const COLORREF clrFace = LookupColor(COLOR_BTNFACE, pHelperSrc, lParam);
    const COLORREF clrDark = LookupColor(COLOR_3DDKSHADOW, pHelperSrc, lParam);
    const COLORREF clrWhite = LookupColor(COLOR_BTNHIGHLIGHT, pHelperSrc, lParam);
    const COLORREF clrShadow = LookupColor(COLOR_BTNSHADOW, pHelperSrc, lParam);
    RECT rc = rcIn;
    dc.Draw3dRect(&rc, clrFace, clrDark);
    ::InflateRect(&rc, -1, -1);
    dc.Draw3dRect(&rc, clrWhite, clrShadow);
    ::InflateRect(&rc, -1, -1);
    dc.Draw3dRect(&rc, clrFace, clrFace);
    ::InflateRect(&rc, -1, -1);
    dc.Draw3dRect(&rc, clrShadow, clrWhite);
}

void CExtPaintManagerOffice2003::DrawDatePickerBorder(CDC& dc, const RECT& rc, CObject* pHelperSrc,
                                                      LPARAM lParam)
{
    if (Visible(dc, rc))
        FrameWithColor(dc, rc, LookupColor(COLOR_BTNSHADOW, pHelperSrc, lParam));
}

void CExtPaintManager::DrawDatePickerFrame(int, int, CDC& dc, int, int, const RECT& rcOuter,
                                           const RECT& rcInner, int, int, int,
                                           CObject* pHelperSrc, LPARAM lParam)
{
    if (Visible(dc, rcOuter))
        dc.Draw3dRect(&rcOuter, LookupColor(COLOR_BTNHIGHLIGHT, pHelperSrc, lParam),
                      LookupColor(COLOR_BTNSHADOW, pHelperSrc, lParam));
    if (Visible(dc, rcInner))
        dc.FillSolidRect(&rcInner, LookupColor(CLR_3DFACE_OUT, pHelperSrc, lParam));
}

void CExtPaintManagerOffice2003::DrawDatePickerFrame(int, int, CDC& dc, int, int, const RECT&,
                                                     const RECT& rcInner, int, int, int,
                                                     CObject* pHelperSrc, LPARAM lParam)
{
    if (Visible(dc, rcInner))
        dc.FillSolidRect(&rcInner, LookupColor(CLR_3DFACE_OUT, pHelperSrc, lParam));
}

// ---- undo/redo caption ---------------------------------------------------------------------

namespace {

void DrawUndoRedoText(CExtPaintManager* pPM, CDC& dc, const RECT& rc, LPCTSTR sText)
{
    if (sText == NULL || *sText == _T('\0'))
        return;
    LOGFONT lf;
    ::memset(&lf, 0, sizeof(lf));
    HFONT hFont = NULL;
    if (::SystemParametersInfo(SPI_GETICONTITLELOGFONT, sizeof(lf), &lf, 0))
    {
        lf.lfWeight = FW_NORMAL;
        hFont = ::CreateFontIndirect(&lf);
    }
    HGDIOBJ hOld = (hFont != NULL) ? ::SelectObject(dc.GetSafeHdc(), hFont) : NULL;
    const int nOldMode = dc.SetBkMode(TRANSPARENT);
    const COLORREF clrOld = dc.SetTextColor(pPM->LookupColor(COLOR_WINDOWTEXT));
    const UINT nTabs = (::_tcschr(sText, _T('\t')) != NULL) ? DT_EXPANDTABS : 0;
    RECT rcCalc = rc;
    dc.DrawText(sText, -1, &rcCalc, DT_CALCRECT | nTabs);
    const int cx = rcCalc.right - rcCalc.left, cy = rcCalc.bottom - rcCalc.top;
    RECT rcText;
    rcText.left = rc.left + (rc.right - rc.left - cx) / 2;
    rcText.top = rc.top + (rc.bottom - rc.top - cy) / 2;
    rcText.right = rcText.left + cx;
    rcText.bottom = rcText.top + cy;
    ::IntersectRect(&rcText, &rcText, &rc);
    dc.DrawText(sText, -1, &rcText, DT_END_ELLIPSIS | nTabs);
    dc.SetTextColor(clrOld);
    dc.SetBkMode(nOldMode);
    if (hOld != NULL)
        ::SelectObject(dc.GetSafeHdc(), hOld);
    if (hFont != NULL)
        ::DeleteObject(hFont);
}

}  // namespace

void CExtPaintManager::DrawUndoRedoCaption(CDC& dc, const RECT& rcIn, LPCTSTR sText, CObject*)
{
    if (!Visible(dc, rcIn))
        return;
    dc.FillSolidRect(&rcIn, LookupColor(CLR_3DFACE_OUT));
    RECT rc = rcIn;
    ::InflateRect(&rc, -3, -3);
    dc.Draw3dRect(&rc, LookupColor(COLOR_BTNSHADOW), LookupColor(COLOR_WINDOW));
    DrawUndoRedoText(this, dc, rc, sText);
}

void CExtPaintManagerXP::DrawUndoRedoCaption(CDC& dc, const RECT& rc, LPCTSTR sText, CObject*)
{
    if (!Visible(dc, rc))
        return;
    dc.FillSolidRect(&rc, LookupColor(XPCLR_3DFACE_NORMAL));
    DrawUndoRedoText(this, dc, rc, sText);
}

// ---- spin buttons ------------------------------------------------------------------------------

void CExtPaintManager::GetSpinNcSize(RECT& rcNc, bool bAlignRight, bool bAlignLeft, bool bExtra)
{
    rcNc.top = 3;
    rcNc.bottom = 3;
    if (bAlignRight)
    {
        rcNc.right = 3;
        rcNc.left = bExtra ? 2 : 0;
    }
    else if (bAlignLeft)
    {
        rcNc.left = 3;
        rcNc.right = bExtra ? 2 : 0;
    }
    else
    {
        rcNc.left = 0;
        rcNc.right = 0;
    }
}

void CExtPaintManager::DrawMarlettGlyph(CDC& dc, const RECT& rc, bool bTowardStart, bool bHorz,
                                        bool bEnabled, bool bPushed, bool bHover,
                                        bool bHighlight, CObject* pHelperSrc, LPARAM lParam)
{
    if (!Visible(dc, rc))
        return;
    const int nSide = std::min(rc.right - rc.left, rc.bottom - rc.top);
    const int s = std::max(6, ::MulDiv(nSide, 2, 3));
    const int nDpi = std::max(1, dc.GetDeviceCaps(LOGPIXELSX));
    CFont font;
    if (!font.CreatePointFont(::MulDiv(s * 10, 96, nDpi), _T("Marlett"), &dc))
        return;
    LPCTSTR sGlyph = bHorz ? (bTowardStart ? _T("3") : _T("4")) : (bTowardStart ? _T("5") : _T("6"));
    CFont* pOldFont = dc.SelectObject(&font);
    const int nOldMode = dc.SetBkMode(TRANSPARENT);
    RECT rcCalc = {0, 0, 0, 0};
    dc.DrawText(sGlyph, 1, &rcCalc, DT_CALCRECT | DT_SINGLELINE);
    const int cx = rcCalc.right - rcCalc.left, cy = rcCalc.bottom - rcCalc.top;
    RECT rcGlyph;
    rcGlyph.left = rc.left + (rc.right - rc.left - cx) / 2;
    rcGlyph.top = rc.top + (rc.bottom - rc.top - cy) / 2;
    if ((cy & 1) == 0)
        rcGlyph.top++;
    if (bPushed)
    {
        const SIZE szPushed = GetPushedOffset();
        rcGlyph.left += szPushed.cx;
        rcGlyph.top += szPushed.cy;
    }
    rcGlyph.right = rcGlyph.left + cx;
    rcGlyph.bottom = rcGlyph.top + cy;
    COLORREF clrOld;
    if (bEnabled)
    {
        clrOld = dc.SetTextColor((bHover && bHighlight) ? RGB(0, 0, 128)
                                                        : LookupColor(COLOR_BTNTEXT, pHelperSrc, lParam));
        dc.DrawText(sGlyph, 1, &rcGlyph, DT_SINGLELINE | DT_NOCLIP);
    }
    else
    {
        RECT rcEmboss = rcGlyph;
        ::OffsetRect(&rcEmboss, 1, 1);
        clrOld = dc.SetTextColor(LookupColor(COLOR_WINDOW, pHelperSrc, lParam));
        dc.DrawText(sGlyph, 1, &rcEmboss, DT_SINGLELINE | DT_NOCLIP);
        dc.SetTextColor(LookupColor(COLOR_BTNSHADOW, pHelperSrc, lParam));
        dc.DrawText(sGlyph, 1, &rcGlyph, DT_SINGLELINE | DT_NOCLIP);
    }
    dc.SetTextColor(clrOld);
    dc.SetBkMode(nOldMode);
    dc.SelectObject(pOldFont);
}

void CExtPaintManager::DrawSpinButton(CDC& dc, const RECT& rcIn, bool bTowardStart, bool bHorz,
                                      bool bEnabled, bool bFlat, bool bDrawBorderOnHover,
                                      bool bPushed, bool bHover, bool bHighlight,
                                      CObject* pHelperSrc, LPARAM lParam)
{
    if (!Visible(dc, rcIn))
        return;
    if (!bEnabled)
        bPushed = bHover = false;
    RECT rc = rcIn;
    if (bPushed)
    {
        if (!(bFlat && !bDrawBorderOnHover))
            dc.Draw3dRect(&rc, LookupColor(CLR_3DSHADOW_IN, pHelperSrc, lParam),
                          LookupColor(CLR_3DHILIGHT_IN, pHelperSrc, lParam));
    }
    else if (!bFlat && bHover)
    {
        dc.Draw3dRect(&rc, LookupColor(CLR_3DSHADOW_OUT, pHelperSrc, lParam),
                      LookupColor(CLR_3DDKSHADOW_OUT, pHelperSrc, lParam));
        ::InflateRect(&rc, -1, -1);
        dc.Draw3dRect(&rc, LookupColor(CLR_3DHILIGHT_OUT, pHelperSrc, lParam),
                      LookupColor(CLR_3DSHADOW_OUT, pHelperSrc, lParam));
    }
    else if (!bFlat || (bHover && bDrawBorderOnHover))
        dc.Draw3dRect(&rc, LookupColor(CLR_3DHILIGHT_OUT, pHelperSrc, lParam),
                      LookupColor(CLR_3DSHADOW_OUT, pHelperSrc, lParam));
    DrawMarlettGlyph(dc, rcIn, bTowardStart, bHorz, bEnabled, bPushed, bHover, bHighlight,
                     pHelperSrc, lParam);
}

namespace {

// The one-colour frame rule of the flat themes' spin buttons.
bool SpinFrameShown(bool bFlat, bool bDrawBorderOnHover, bool bPushed, bool bHover)
{
    if (bPushed)
        return !(bFlat && !bDrawBorderOnHover);
    return !bFlat || (bHover && bDrawBorderOnHover);
}

}  // namespace

void CExtPaintManagerXP::DrawSpinButton(CDC& dc, const RECT& rc, bool bTowardStart, bool bHorz,
                                        bool bEnabled, bool bFlat, bool bDrawBorderOnHover,
                                        bool bPushed, bool bHover, bool bHighlight,
                                        CObject* pHelperSrc, LPARAM lParam)
{
    if (!Visible(dc, rc))
        return;
    if (!bEnabled)
        bPushed = bHover = false;
    int nFace = bFlat ? CLR_3DFACE_OUT : COLOR_BTNFACE;
    if (bHover)
        nFace = bPushed ? XPCLR_HILIGHT : CLR_3DFACE_IN;
    else if (bPushed)
        nFace = XPCLR_HILIGHT;
    dc.FillSolidRect(&rc, LookupColor(nFace, pHelperSrc, lParam));
    if (SpinFrameShown(bFlat, bDrawBorderOnHover, bPushed, bHover))
        FrameWithColor(dc, rc, LookupColor((!bHover && !bPushed && !bFlat) ? COLOR_BTNSHADOW
                                                                            : XPCLR_HILIGHT_BORDER,
                                           pHelperSrc, lParam));
    DrawMarlettGlyph(dc, rc, bTowardStart, bHorz, bEnabled, bPushed, bHover, bHighlight,
                     pHelperSrc, lParam);
}

void CExtPaintManagerOffice2003::DrawSpinButton(CDC& dc, const RECT& rc, bool bTowardStart,
                                                bool bHorz, bool bEnabled, bool bFlat,
                                                bool bDrawBorderOnHover, bool bPushed,
                                                bool bHover, bool bHighlight,
                                                CObject* pHelperSrc, LPARAM lParam)
{
    if (!Visible(dc, rc))
        return;
    if (!bEnabled)
        bPushed = bHover = false;
    const COLORREF clrFace = LookupColor(bFlat ? CLR_3DFACE_OUT : COLOR_BTNFACE, pHelperSrc, lParam);
    int nFirst = -1, nSecond = -1;
    if (bHover)
    {
        nFirst = bPushed ? 3025 : 3021;
        nSecond = bPushed ? 3026 : 3022;
    }
    else if (bPushed)
    {
        nFirst = 3023;
        nSecond = 3024;
    }
    const COLORREF clr1 = (nFirst >= 0) ? LookupColor(nFirst, pHelperSrc, lParam) : COLORREF(-1);
    const COLORREF clr2 = (nSecond >= 0) ? LookupColor(nSecond, pHelperSrc, lParam) : COLORREF(-1);
    if (clr1 == COLORREF(-1) || clr2 == COLORREF(-1))
        dc.FillSolidRect(&rc, clrFace);
    else if (bHorz)
        GradientFillRect(dc, rc, clr2, clr1, false, 256);
    else
        GradientFillRect(dc, rc, clr1, clr2, true, 256);
    if (SpinFrameShown(bFlat, bDrawBorderOnHover, bPushed, bHover))
        FrameWithColor(dc, rc, LookupColor((bHover || bPushed) ? XPCLR_HILIGHT_BORDER : COLOR_BTNSHADOW,
                                           pHelperSrc, lParam));
    DrawMarlettGlyph(dc, rc, bTowardStart, bHorz, bEnabled, bPushed, bHover, bHighlight,
                     pHelperSrc, lParam);
}

// ---- group boxes -------------------------------------------------------------------------------------

void CExtPaintManager::DrawGroupBoxFrame(CDC& dc, const RECT& rcIn, CObject* pHelperSrc,
                                         LPARAM lParam)
{
    if (!Visible(dc, rcIn))
        return;
    UxThemeLibrary& ux = g_CurrentPaintManager.m_UxTheme;
    HWND hWnd = HwndOf(pHelperSrc);
    if (ux.IsUsable(true) && ux.OpenThemeData(hWnd, L"BUTTON") != NULL)
    {
        const int nState = (hWnd == NULL || ::IsWindowEnabled(hWnd)) ? 1 : 2;
        ux.DrawThemeBackground(dc.GetSafeHdc(), 4, nState, &rcIn, &rcIn);
        ux.CloseThemeData();
        return;
    }
    const COLORREF clrShadow = LookupColor(COLOR_BTNSHADOW, pHelperSrc, lParam);
    const COLORREF clrLight = LookupColor(COLOR_WINDOW, pHelperSrc, lParam);
    RECT rc = rcIn;
    dc.Draw3dRect(&rc, clrShadow, clrLight);
    ::InflateRect(&rc, -1, -1);
    dc.Draw3dRect(&rc, clrLight, clrShadow);
}

void CExtPaintManager::DrawGroupBoxCaption(CDC& dc, LPCTSTR sText, COLORREF clrText, HFONT hFont,
                                           UINT nDrawTextFlags, bool bEnabled, const RECT& rc,
                                           CWnd* pWnd, LPARAM)
{
    if (sText == NULL || !Visible(dc, rc))
        return;
    HGDIOBJ hOldFont = (hFont != NULL) ? ::SelectObject(dc.GetSafeHdc(), hFont) : NULL;
    const int nOldMode = dc.SetBkMode(TRANSPARENT);
    const COLORREF clrOld = dc.SetTextColor(clrText);
    UxThemeLibrary& ux = g_CurrentPaintManager.m_UxTheme;
    if (ux.IsUsable(true) && ux.OpenThemeData(pWnd->GetSafeHwnd(), L"BUTTON") != NULL)
    {
        ux.DrawThemeText(dc.GetSafeHdc(), 4, bEnabled ? 1 : 2, sText, -1, nDrawTextFlags, 0, &rc);
        ux.CloseThemeData();
    }
    else
    {
        RECT rcText = rc;
        dc.DrawText(sText, -1, &rcText, nDrawTextFlags);
    }
    dc.SetTextColor(clrOld);
    dc.SetBkMode(nOldMode);
    if (hOldFont != NULL)
        ::SelectObject(dc.GetSafeHdc(), hOldFont);
}

// ---- report grid pieces ---------------------------------------------------------------------

COLORREF CExtPaintManager::GetReportColumnTextColor(CObject* pHelperSrc, signed char nValue)
{
    if (!CExtPmSmallControlQueries::IsReportColumn(pHelperSrc))
        return COLORREF(-1);
    return LookupColor(nValue >= 0 ? COLOR_BTNTEXT : COLOR_HIGHLIGHTTEXT);
}

bool CExtPaintManagerOffice2003::DrawReportHeader(CDC& dc, const RECT& rc, CObject* pHelperSrc,
                                                  LPARAM)
{
    const CExtPmSmallControlQueries::Queries& q = CExtPmSmallControlQueries::g_queries;
    const CExtBitmap* pBmp = (q.pfnReportHeaderBitmap != NULL) ? q.pfnReportHeaderBitmap() : NULL;
    if (pBmp == NULL || pBmp->IsEmpty())
        return false;
    const RECT rcPadding = {0, 0, 0, 4};
    pBmp->DrawSkinPartsWhole(dc.GetSafeHdc(), rc, rcPadding, CExtBitmap::__EDM_NINE_STRETCH,
                             true, true, SRCCOPY);
    if (CExtPmSmallControlQueries::IsReportColumn(pHelperSrc))
    {
        const BYTE nFlags = (q.pfnReportColumnFlags != NULL) ? q.pfnReportColumnFlags(pHelperSrc) : 0;
        if ((nFlags & 0x03) == 0 && rc.bottom - 4 > rc.top + 2)
        {
            const int cy = (rc.bottom - 4) - (rc.top + 2);
            dc.FillSolidRect(rc.left, rc.top + 2, 1, cy, dc.GetNearestColor(RGB(255, 255, 255)));
            dc.FillSolidRect(rc.right - 1, rc.top + 2, 1, cy, dc.GetNearestColor(RGB(172, 168, 153)));
        }
    }
    return true;
}

// ---- Office 2003 bar and menu gradients -------------------------------------------------------

void CExtPaintManagerOffice2003::DrawBarButtonGradient(CDC& dc, CExtBarButton* pTBB, LPARAM lParam)
{
    CObject* pButton = reinterpret_cast<CObject*>(pTBB);
    const CExtPmSmallControlQueries::Queries& q = CExtPmSmallControlQueries::g_queries;
    RECT rcButton;
    if (pButton == NULL || !GradientsPossible(dc) || q.pfnBarButtonRect == NULL ||
        !q.pfnBarButtonRect(pButton, rcButton))
        return;
    RECT rc = rcButton;
    ::InflateRect(&rc, -1, -1);
    if (!Visible(dc, rcButton))
        return;
    GradientFillRect(dc, rc, LookupColor(3017, pButton, lParam), LookupColor(3015, pButton, lParam),
                     true, 256);
    CObject* pBar = CExtPmNeighbours::ButtonBar(pButton);
    if (pBar != NULL && CExtPmNeighbours::IsDockedVertically(pBar) &&
        !CExtPaintManagerHolder::IsKindOfByName(pButton, "CExtBarColorButton") &&
        !(q.pfnBarButtonNoDockFrame != NULL && q.pfnBarButtonNoDockFrame(pButton)))
        FrameWithColor(dc, rcButton, LookupColor(XPCLR_MENU_BORDER, pButton, lParam));
}

// Only the Office 2003 family has a gradient background of its own.
void CExtPaintManager::DrawGradientBackground(CDC&, RECT, bool, CObject*, LPARAM, COLORREF, COLORREF) {}

void CExtPaintManagerOffice2003::DrawGradientBackground(CDC& dc, RECT rc, bool bHorz,
                                                        CObject* pHelperSrc, LPARAM lParam,
                                                        COLORREF clrFirst, COLORREF clrSecond)
{
    if (!Visible(dc, rc))
        return;
    if (clrFirst != COLORREF(-1) && clrSecond != COLORREF(-1))
    {
        GradientFillRect(dc, rc, clrFirst, clrSecond, bHorz, 256);
        return;
    }
    if (UsesLunaColors())
    {
        COLORREF clrBase = 0, clrUnused = 0;
        GetLunaBaseColors(&clrBase, &clrUnused);
        const COLORREF clr1 = CExtBitmap::stat_HLS_Adjust(clrBase, 0.0, 0.75, 0.15);
        const COLORREF clr2 = CExtBitmap::stat_HLS_Adjust(clrBase, 0.0, 0.65, 0.15);
        COLORREF clr3 = CExtBitmap::stat_HLS_Adjust(clrBase, 0.0, -0.22, -0.25);
        if (GetLunaColorScheme() == 3)
            clr3 = CExtBitmap::stat_HLS_Adjust(clr3, 0.05, 0.0, 0.05);
        GradientFillTwoPart(dc, rc, clr1, clr2, clr3, bHorz, 2, 5, 256);
        return;
    }
    const COLORREF clrA = LookupColor(3015, pHelperSrc, lParam);
    const COLORREF clrB = LookupColor(3017, pHelperSrc, lParam);
    if (bHorz)
        GradientFillRect(dc, rc, clrB, clrA, bHorz, 256);
    else
        GradientFillRect(dc, rc, clrA, clrB, bHorz, 256);
}
