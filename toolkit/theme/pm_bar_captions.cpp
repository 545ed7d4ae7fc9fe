// Non-client parts of control bars: grippers of docked toolbars, captions of docked and
// floating bars with their text, bar frames, and the small geometry queries the bars
// ask (deflating a bar rectangle, toolbar spacing, whether the toolbar gradient is on).
#include "toolkit/theme/paint_manager.h"
#include "toolkit/theme/pm_bar_parts.h"
#include "toolkit/theme/pm_neighbours.h"

#include <utility>

typedef CExtPmNeighbours NB;

CExtPaintManager::PAINTBARCAPTIONDATA::PAINTBARCAPTIONDATA(CObject* pHelperSrc,
                                                           const RECT& rcBarCaption,
                                                           const RECT& rcCaptionText,
                                                           bool bActive, bool bFloating,
                                                           bool bHorz, bool bWithText,
                                                           LPCTSTR sText, bool bRTL)
    : m_pHelperSrc(pHelperSrc),
      m_lParam(0),
      m_rcBarCaption(rcBarCaption),
      m_rcCaptionText(rcCaptionText),
      m_bActive(bActive),
      m_bFloating(bFloating),
      m_bHorz(bHorz),
      m_bWithText(bWithText),
      m_bReserved4(false),
      m_bReserved5(false),
      m_bReserved6(false),
      m_bReserved7(false),
      m_sText((sText != NULL) ? sText : ""),
      m_bBkPainted1(false),
      m_bBkPainted2(false),
      m_bRTL(bRTL),
      m_bReserved2_3(false),
      m_bReserved2_4(false),
      m_bReserved2_5(false),
      m_bReserved2_6(false),
      m_bReserved2_7(false)
{
}

CExtPaintManager::PAINTBARFRAMEDATA::PAINTBARFRAMEDATA(CObject* pHelperSrc, const RECT& rcWindow,
                                                       const RECT& rcClient, bool bFlag0,
                                                       bool bFloating, bool bNoInnerBorder,
                                                       bool bNoDottedFrame)
    : m_pHelperSrc(pHelperSrc),
      m_lParam(0),
      m_rcWindow(rcWindow),
      m_rcClient(rcClient),
      m_bFlag0(bFlag0),
      m_bFloating(bFloating),
      m_bNoInnerBorder(bNoInnerBorder),
      m_bNoDottedFrame(bNoDottedFrame),
      m_bReserved4(false),
      m_bReserved5(false),
      m_bReserved6(false),
      m_bReserved7(false)
{
}

namespace {

int DcBits(CDC& dc) { return CExtPaintManager::GetDcBitsPerPixel(dc.GetSafeHdc()); }

bool IsDockedToolbarWithoutOwnFrame(CObject* pObj)
{
    return NB::IsToolBar(pObj) && NB::DockBar(pObj) != NULL && (NB::BarOptions(pObj) & 0x08) != 0;
}

}  // namespace

// ---- geometry queries ------------------------------------------------------------------------

void CExtPaintManager::DeflateBarRect(CExtControlBar* pBar, RECT& rc)
{
    if (NB::IsDockedVertically(reinterpret_cast<CObject*>(pBar)))
        ::InflateRect(&rc, -1, -2);
    else
        ::InflateRect(&rc, -2, -1);
}

void CExtPaintManagerXP::DeflateBarRect(CExtControlBar*, RECT& rc) { ::InflateRect(&rc, -1, -1); }

void CExtPaintManagerOffice2003::DeflateBarRect(CExtControlBar* pBar, RECT& rc)
{
    if (GetScreenBitsPerPixel() > 8)
        return;
    CExtPaintManagerXP::DeflateBarRect(pBar, rc);
}

int CExtPaintManager::GetToolbarSpacing(CExtControlBar* pBar)
{
    return NB::IsMenuBar(reinterpret_cast<CObject*>(pBar)) ? 0 : 6;
}

int CExtPaintManagerOffice2003::GetToolbarSpacing(CExtControlBar* pBar)
{
    CObject* pObj = reinterpret_cast<CObject*>(pBar);
    if (GetScreenBitsPerPixel() > 8 && NB::IsFloating(pObj) && (NB::BarOptions(pObj) & 0x02) == 0)
        return 0;
    return CExtPaintManagerXP::GetToolbarSpacing(pBar);
}

bool CExtPaintManagerOffice2003::UsesToolbarGradient(CExtControlBar* pBar)
{
    CObject* pObj = reinterpret_cast<CObject*>(pBar);
    if (pObj == NULL)
        return false;
    const BYTE nOptions = NB::BarOptions(pObj);
    if ((nOptions & 0x02) != 0 || NB::DockBar(pObj) == NULL || NB::IsMenuBar(pObj) ||
        NB::IsPanelBar(pObj) || !NB::IsFloating(pObj) || GetScreenBitsPerPixel() <= 8)
        return false;
    if (NB::DockSite(pObj) != NULL && (NB::BarOptions2(pObj) & 0x04) == 0)
        return true;
    return (nOptions & 0x04) != 0;
}

// ---- captions and grippers ---------------------------------------------------------------

// Steps shared by the caption texts of every theme: font by caption kind, horizontal
// text with an ellipsis (or shortened to fit in a fixed-size floating bar), vertical
// text centred across the caption.
void CExtPaintManager::DrawBarCaptionText(CDC& dc, PAINTBARCAPTIONDATA& _pbcd, COLORREF clrText)
{
    if (_pbcd.m_sText == NULL || *_pbcd.m_sText == '\0')
        return;
    RECT rc = _pbcd.m_rcCaptionText;
    if (rc.left >= rc.right || rc.top >= rc.bottom)
        return;
    const bool bNormalWeight = _pbcd.m_bWithText && !_pbcd.m_bFloating;
    CFont& font = bNormalWeight ? (_pbcd.m_bHorz ? m_FontNormalVertXBC2 : m_FontNormalBC2)
                                : (_pbcd.m_bHorz ? m_FontBoldVertXBC2 : m_FontBoldBC2);
    HDC hDC = dc.GetSafeHdc();
    const COLORREF clrOld = ::SetTextColor(hDC, clrText);
    const int nOldMode = ::SetBkMode(hDC, TRANSPARENT);
    HGDIOBJ hOldFont = (font.GetSafeHandle() != NULL) ? ::SelectObject(hDC, font.GetSafeHandle())
                                                      : NULL;
    CString sText(_pbcd.m_sText);
    if (!_pbcd.m_bHorz)
    {
        UINT nFormat = DT_SINGLELINE | DT_VCENTER | (_pbcd.m_bRTL ? DT_RIGHT : DT_LEFT);
        CObject* pBar = NB::IsMiniDockFrame(_pbcd.m_pHelperSrc)
                            ? NB::MiniFrameControlBar(_pbcd.m_pHelperSrc)
                            : NULL;
        if (pBar != NULL && NB::IsFixedMode(pBar))
        {
            // A toolbar floats at its own size: its caption is cut, not widened.
            const int nWidth = rc.right - rc.left;
            while (!sText.IsEmpty())
            {
                SIZE sz = {0, 0};
                ::GetTextExtentPoint32A(hDC, sText, sText.GetLength(), &sz);
                if (sz.cx <= nWidth)
                    break;
                sText = sText.Left(sText.GetLength() - 1);
            }
            nFormat |= DT_NOCLIP;
        }
        else
            nFormat |= DT_END_ELLIPSIS;
        ::DrawTextA(hDC, sText, sText.GetLength(), &rc, nFormat);
    }
    else
    {
        TEXTMETRICA tm;
        ::memset(&tm, 0, sizeof(tm));
        ::GetTextMetricsA(hDC, &tm);
        ::InflateRect(&rc, -2, -2);
        // The rotated text reads from the bottom up: it starts at the bottom of the
        // rectangle, its cell lying to the right of the starting point.
        const int x = rc.left + ((rc.right - rc.left) - tm.tmHeight) / 2;
        ::ExtTextOutA(hDC, x, rc.bottom, ETO_CLIPPED, &rc, sText, sText.GetLength(), NULL);
    }
    if (hOldFont != NULL)
        ::SelectObject(hDC, hOldFont);
    ::SetBkMode(hDC, nOldMode);
    ::SetTextColor(hDC, clrOld);
}

void CExtPaintManager::DrawBarCaption(CDC& dc, PAINTBARCAPTIONDATA& _pbcd)
{
    CObject* pSrc = _pbcd.m_pHelperSrc;
    const COLORREF clrShadow = LookupColor(CLR_3DSHADOW_OUT, pSrc, _pbcd.m_lParam);
    const COLORREF clrLight = LookupColor(CLR_3DHILIGHT_OUT, pSrc, _pbcd.m_lParam);
    RECT rc = _pbcd.m_rcBarCaption;
    if (!_pbcd.m_bFloating && !_pbcd.m_bWithText)
    {
        // Two raised bars with a 1-pixel gap between them.
        if (_pbcd.m_bHorz)
        {
            rc.top += 1;
            rc.left += 4;
            rc.right = rc.left + 3;
            dc.Draw3dRect(&rc, clrLight, clrShadow);
            ::OffsetRect(&rc, 4, 0);
            dc.Draw3dRect(&rc, clrLight, clrShadow);
        }
        else
        {
            rc.left += 1;
            rc.right -= 1;
            rc.top += 4;
            rc.bottom = rc.top + 3;
            dc.Draw3dRect(&rc, clrLight, clrShadow);
            ::OffsetRect(&rc, 0, 4);
            dc.Draw3dRect(&rc, clrLight, clrShadow);
        }
        return;
    }
    if (!_pbcd.m_bFloating)
        ::InflateRect(&rc, -1, -1);
    COLORREF clrText = 0;
    if (_pbcd.m_bWithText)
    {
        const bool bActive = _pbcd.m_bActive || _pbcd.m_bFloating;
        COLORREF clr1 = LookupColor(bActive ? COLOR_ACTIVECAPTION : COLOR_INACTIVECAPTION, pSrc,
                                    _pbcd.m_lParam);
        COLORREF clr2 = LookupColor(bActive ? COLOR_GRADIENTACTIVECAPTION
                                            : COLOR_GRADIENTINACTIVECAPTION,
                                    pSrc, _pbcd.m_lParam);
        clrText = LookupColor(bActive ? COLOR_CAPTIONTEXT : COLOR_INACTIVECAPTIONTEXT, pSrc,
                              _pbcd.m_lParam);
        if (!_pbcd.IsBkPainted())
        {
            if (DcBits(dc) <= 8)
                dc.FillSolidRect(&rc, clr1);
            else
            {
                if (!_pbcd.m_bHorz && _pbcd.m_bRTL)
                    std::swap(clr1, clr2);
                GradientFillRect(dc, rc, clr1, clr2, _pbcd.m_bHorz, 256);
            }
        }
    }
    else
    {
        dc.FillSolidRect(&rc, LookupColor(COLOR_HIGHLIGHT, pSrc, _pbcd.m_lParam));
        clrText = LookupColor(COLOR_HIGHLIGHTTEXT, pSrc, _pbcd.m_lParam);
    }
    DrawBarCaptionText(dc, _pbcd, clrText);
}

void CExtPaintManagerXP::DrawBarCaption(CDC& dc, PAINTBARCAPTIONDATA& _pbcd)
{
    CObject* pSrc = _pbcd.m_pHelperSrc;
    const LPARAM lParam = _pbcd.m_lParam;
    HDC hDC = dc.GetSafeHdc();
    if (!_pbcd.m_bFloating && !_pbcd.m_bWithText)
    {
        RECT rc = _pbcd.m_rcBarCaption;
        if (!IsDockedToolbarWithoutOwnFrame(pSrc))
        {
            RECT rcFill = rc;
            ::InflateRect(&rcFill, -1, -1);
            dc.FillSolidRect(&rcFill, LookupColor(CLR_3DFACE_OUT, pSrc, lParam));
        }
        // An 8x8 pattern of lines across the strip, every second row (or column).
        const bool bHorz = _pbcd.m_bHorz;
        HBITMAP hPattern = NULL;
        if (DcBits(dc) <= 8)
        {
            WORD arrBits[8];
            for (int i = 0; i < 8; i++)
                arrBits[i] = bHorz ? (WORD)((i % 2 == 0) ? 0x00 : 0xFF) : (WORD)0x55;
            hPattern = ::CreateBitmap(8, 8, 1, 1, arrBits);
        }
        else
        {
            const COLORREF c15 = LookupColor(COLOR_BTNFACE, pSrc, lParam);
            const COLORREF c16 = LookupColor(COLOR_BTNSHADOW, pSrc, lParam);
            const COLORREF clrLine =
                ::GetNearestColor(hDC, RGB((2 * GetRValue(c15) + GetRValue(c16)) / 3,
                                           (2 * GetGValue(c15) + GetGValue(c16)) / 3,
                                           (2 * GetBValue(c15) + GetBValue(c16)) / 3));
            const COLORREF clrFace = LookupColor(CLR_3DFACE_OUT, pSrc, lParam);
            HDC hMemDC = ::CreateCompatibleDC(hDC);
            hPattern = ::CreateCompatibleBitmap(hDC, 8, 8);
            if (hMemDC != NULL && hPattern != NULL)
            {
                HGDIOBJ hOld = ::SelectObject(hMemDC, hPattern);
                for (int y = 0; y < 8; y++)
                    for (int x = 0; x < 8; x++)
                    {
                        const bool bLine = bHorz ? (y % 2 == 0) : (x % 2 == 0);
                        ::SetPixel(hMemDC, x, y, bLine ? clrLine : clrFace);
                    }
                ::SelectObject(hMemDC, hOld);
            }
            if (hMemDC != NULL)
                ::DeleteDC(hMemDC);
        }
        // The strip: 5 pixels in across the bar, 2 along it, 5 wide, then 3 wide.
        RECT rcStrip = rc;
        if (bHorz)
        {
            ::InflateRect(&rcStrip, -2, -5);
            rcStrip.right = rcStrip.left + 5;
            ::InflateRect(&rcStrip, -1, 0);
        }
        else
        {
            ::InflateRect(&rcStrip, -5, -2);
            rcStrip.bottom = rcStrip.top + 5;
            ::InflateRect(&rcStrip, 0, -1);
        }
        if (hPattern != NULL)
        {
            HBRUSH hBrush = ::CreatePatternBrush(hPattern);
            if (hBrush != NULL && rcStrip.right > rcStrip.left && rcStrip.bottom > rcStrip.top)
            {
                const COLORREF clrOldText =
                    ::SetTextColor(hDC, LookupColor(XPCLR_3DFACE_NORMAL, pSrc, lParam));
                const COLORREF clrOldBk =
                    ::SetBkColor(hDC, LookupColor(CLR_3DFACE_OUT, pSrc, lParam));
                HGDIOBJ hOldBrush = ::SelectObject(hDC, hBrush);
                ::PatBlt(hDC, rcStrip.left, rcStrip.top, rcStrip.right - rcStrip.left,
                         rcStrip.bottom - rcStrip.top, PATCOPY);
                ::SelectObject(hDC, hOldBrush);
                ::SetBkColor(hDC, clrOldBk);
                ::SetTextColor(hDC, clrOldText);
            }
            if (hBrush != NULL)
                ::DeleteObject(hBrush);
            ::DeleteObject(hPattern);
        }
        return;
    }
    if (!_pbcd.IsBkPainted())
    {
        COLORREF clrFill = LookupColor(COLOR_BTNSHADOW, pSrc, lParam);
        if (_pbcd.m_bWithText)
            clrFill = _pbcd.m_bActive ? LookupColor(COLOR_HIGHLIGHT, pSrc, lParam)
                                      : LookupColor(XPCLR_3DFACE_DARK, pSrc, lParam);
        dc.FillSolidRect(&_pbcd.m_rcBarCaption, clrFill);
        if (_pbcd.m_bWithText && !_pbcd.m_bActive)
            DrawEdgeRect(dc, _pbcd.m_rcBarCaption, LookupColor(COLOR_BTNSHADOW, pSrc, lParam),
                         LookupColor(COLOR_BTNSHADOW, pSrc, lParam));
    }
    COLORREF clrText = LookupColor(COLOR_HIGHLIGHTTEXT, pSrc, lParam);
    if (_pbcd.m_bWithText && !_pbcd.m_bActive)
        clrText = LookupColor(COLOR_BTNTEXT, pSrc, lParam);
    else
    {
        const int nThemeId = GetThemeId();
        if ((nThemeId == ThemeIdOffice2003 || nThemeId == ThemeIdStudio2005) &&
            GetLunaColorScheme() == 3)
            clrText = LookupColor(COLOR_WINDOW, pSrc, lParam);
    }
    DrawBarCaptionText(dc, _pbcd, clrText);
}

void CExtPaintManagerOffice2003::DrawBarCaption(CDC& dc, PAINTBARCAPTIONDATA& _pbcd)
{
    CObject* pSrc = _pbcd.m_pHelperSrc;
    const LPARAM lParam = _pbcd.m_lParam;
    const bool bDeep = DcBits(dc) > 8;
    if (bDeep && !_pbcd.m_bFloating && !_pbcd.m_bWithText)
    {
        const bool bToolbar = NB::IsToolBar(pSrc);
        const bool bGradientToolbar = bToolbar && NB::DockBar(pSrc) != NULL &&
                                      !NB::IsMenuBar(pSrc) && !NB::IsPanelBar(pSrc) &&
                                      (NB::BarOptions(pSrc) & 0x08) == 0;
        if (bGradientToolbar || (!bToolbar && NB::IsControlBar(pSrc)) ||
            NB::IsAutoHideSlider(pSrc))
        {
            if (bGradientToolbar)
            {
                CWnd* pBar = static_cast<CWnd*>(pSrc);
                PaintToolbarBarGradient(dc, pBar, !(NB::IsDockedAtFrameSide(pSrc) &&
                                                    NB::IsDockedVertically(pSrc)),
                                        lParam);
            }
            DrawGripperDots(dc, _pbcd.m_rcBarCaption, _pbcd.m_bHorz, pSrc, lParam);
            return;
        }
    }
    if (bDeep && _pbcd.m_bWithText)
    {
        if (!_pbcd.IsBkPainted())
        {
            COLORREF clrLeft = LookupColor(3000, pSrc, lParam);
            COLORREF clrRight = LookupColor(3001, pSrc, lParam);
            if (_pbcd.m_bRTL)
                std::swap(clrLeft, clrRight);
            GradientFillRect(dc, _pbcd.m_rcBarCaption, clrLeft, clrRight, false, 256);
            _pbcd.m_bBkPainted1 = _pbcd.m_bBkPainted2 = true;
        }
    }
    CExtPaintManagerXP::DrawBarCaption(dc, _pbcd);
}

void CExtPaintManagerOffice2003::DrawGripperDots(CDC& dc, const RECT& rcGripper, bool bHorz,
                                                 CObject* pSrc, LPARAM lParam)
{
    const COLORREF clrDot = LookupColor(3003, pSrc, lParam);
    const COLORREF clrShadow = LookupColor(3002, pSrc, lParam);
    // Along the gripper: 5 pixels off each end, moved 1 towards the start; the dots are
    // packed against the far end.
    const int nStart = (bHorz ? rcGripper.top : rcGripper.left) + 5 - 1;
    const int nEnd = (bHorz ? rcGripper.bottom : rcGripper.right) - 5 - 1;
    const int nCount = (nEnd - nStart) / 4;
    if (nCount <= 0)
        return;
    const int nAcross = bHorz ? rcGripper.left + ((rcGripper.right - rcGripper.left) - 3) / 2
                              : rcGripper.top + ((rcGripper.bottom - rcGripper.top) - 3) / 2;
    for (int i = 0; i < nCount; i++)
    {
        const int nAlong = nEnd - (nCount - i) * 4;
        const int x = bHorz ? nAcross : nAlong;
        const int y = bHorz ? nAlong : nAcross;
        dc.FillSolidRect(x + 1, y + 1, 2, 2, clrShadow);
        dc.FillSolidRect(x, y, 2, 2, clrDot);
    }
}

void CExtPaintManagerStudio2005::DrawBarCaption(CDC& dc, PAINTBARCAPTIONDATA& _pbcd)
{
    if (!_pbcd.m_bWithText)
    {
        CExtPaintManagerOffice2003::DrawBarCaption(dc, _pbcd);
        return;
    }
    if (m_nDockMarkerStyle == 1)
    {
        CExtPaintManager::DrawBarCaption(dc, _pbcd);
        return;
    }
    CObject* pSrc = _pbcd.m_pHelperSrc;
    const LPARAM lParam = _pbcd.m_lParam;
    RECT rc = _pbcd.m_rcBarCaption;
    rc.right += 4;
    const bool bActive = _pbcd.m_bActive;
    if (DcBits(dc) > 8)
    {
        if (bActive)
            GradientFillRect(dc, rc, LookupColor(4002, pSrc, lParam),
                             LookupColor(4001, pSrc, lParam), !_pbcd.m_bHorz, 256);
        else
            dc.FillSolidRect(&rc, LookupColor(4000, pSrc, lParam));
    }
    else
        dc.FillSolidRect(&rc, LookupColor(bActive ? COLOR_ACTIVECAPTION : COLOR_INACTIVECAPTION,
                                          pSrc, lParam));
    _pbcd.m_bBkPainted1 = _pbcd.m_bBkPainted2 = true;
    if (UsesLunaColors())
        CExtPaintManagerXP::DrawBarCaption(dc, _pbcd);
    else
        CExtPaintManager::DrawBarCaption(dc, _pbcd);
}

// ---- bar frames ------------------------------------------------------------------------------

void CExtPaintManager::DrawBarFrameClassic(CDC& dc, PAINTBARFRAMEDATA& _pbfd,
                                           COLORREF clrOuterTL, COLORREF clrOuterBR,
                                           COLORREF clrInnerTL, COLORREF clrInnerBR)
{
    RECT rc = _pbfd.m_rcWindow;
    if (::IsRectEmpty(&rc))
        return;
    const int nSaved = dc.SaveDC();
    dc.ExcludeClipRect(&_pbfd.m_rcClient);
    if (!IsDockedToolbarWithoutOwnFrame(_pbfd.m_pHelperSrc))
    {
        dc.FillSolidRect(&rc, LookupColor(CLR_3DFACE_OUT, _pbfd.m_pHelperSrc, _pbfd.m_lParam));
        bool bInner = true;
        if (_pbfd.m_bFloating)
        {
            dc.Draw3dRect(&rc, clrOuterTL, clrOuterBR);
            ::InflateRect(&rc, -1, -1);
        }
        else if (_pbfd.m_bNoInnerBorder)
            bInner = false;
        if (bInner)
            dc.Draw3dRect(&rc, clrInnerTL, clrInnerBR);
    }
    dc.RestoreDC(nSaved);
}

void CExtPaintManager::DrawBarFrame(CDC& dc, PAINTBARFRAMEDATA& _pbfd)
{
    CObject* pSrc = _pbfd.m_pHelperSrc;
    const LPARAM lParam = _pbfd.m_lParam;
    DrawBarFrameClassic(dc, _pbfd, LookupColor(CLR_3DFACE_OUT, pSrc, lParam),
                        LookupColor(CLR_3DDKSHADOW_OUT, pSrc, lParam),
                        LookupColor(CLR_3DHILIGHT_OUT, pSrc, lParam),
                        LookupColor(CLR_3DSHADOW_OUT, pSrc, lParam));
}

void CExtPaintManagerXP::DrawBarFrame(CDC& dc, PAINTBARFRAMEDATA& _pbfd)
{
    RECT rc = _pbfd.m_rcWindow;
    if (::IsRectEmpty(&rc))
        return;
    CObject* pSrc = _pbfd.m_pHelperSrc;
    const LPARAM lParam = _pbfd.m_lParam;
    HDC hDC = dc.GetSafeHdc();
    const int nSaved = dc.SaveDC();
    dc.ExcludeClipRect(&_pbfd.m_rcClient);
    const COLORREF clr16 = LookupColor(COLOR_BTNSHADOW, pSrc, lParam);
    if (_pbfd.m_bFloating)
    {
        dc.FillSolidRect(&rc, LookupColor(_pbfd.m_bNoInnerBorder ? XPCLR_3DFACE_FLOAT_R
                                                                 : XPCLR_3DFACE_FLOAT_F,
                                          pSrc, lParam));
        dc.Draw3dRect(&rc, clr16, clr16);
        RECT rcInner = rc;
        ::InflateRect(&rcInner, -1, -1);
        dc.Draw3dRect(&rcInner, clr16, clr16);
        ::SetPixel(hDC, rc.left + 2, rc.top + 2, clr16);
        ::SetPixel(hDC, rc.left + 2, rc.bottom - 3, clr16);
        ::SetPixel(hDC, rc.right - 3, rc.top + 2, clr16);
        ::SetPixel(hDC, rc.right - 3, rc.bottom - 3, clr16);
    }
    else if (!IsDockedToolbarWithoutOwnFrame(pSrc))
    {
        dc.FillSolidRect(&rc, LookupColor(CLR_3DFACE_OUT, pSrc, lParam));
        if (!_pbfd.m_bNoInnerBorder)
        {
            const COLORREF clr15 = LookupColor(COLOR_BTNFACE, pSrc, lParam);
            dc.Draw3dRect(&rc, clr15, clr15);
        }
        if (DcBits(dc) <= 8 && !_pbfd.m_bNoDottedFrame)
        {
            // A dotted outline: a checkerboard brush in a geometric pen.
            static const WORD arrChecker[8] = {0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55};
            HBITMAP hBmp = ::CreateBitmap(8, 8, 1, 1, arrChecker);
            HPEN hPen = NULL;
            if (hBmp != NULL)
            {
                LOGBRUSH lb = {BS_PATTERN, 0, (ULONG_PTR)hBmp};
                hPen = ::ExtCreatePen(PS_GEOMETRIC | PS_SOLID, 1, &lb, 0, NULL);
            }
            if (hPen == NULL)
                hPen = ::CreatePen(PS_SOLID, 1, clr16);
            HGDIOBJ hOldPen = ::SelectObject(hDC, (hPen != NULL) ? (HGDIOBJ)hPen
                                                                 : ::GetStockObject(BLACK_PEN));
            if ((m_nXpFlags & 0x02) != 0)
            {
                const POINT pts[5] = {{rc.left, rc.top},
                                      {rc.right - 1, rc.top},
                                      {rc.right - 1, rc.bottom - 1},
                                      {rc.left, rc.bottom - 1},
                                      {rc.left, rc.top}};
                ::Polyline(hDC, pts, 5);
            }
            else
            {
                const POINT pts[9] = {{rc.left + 2, rc.top},
                                      {rc.right - 3, rc.top},
                                      {rc.right - 1, rc.top + 2},
                                      {rc.right - 1, rc.bottom - 3},
                                      {rc.right - 3, rc.bottom - 1},
                                      {rc.left + 2, rc.bottom - 1},
                                      {rc.left, rc.bottom - 3},
                                      {rc.left, rc.top + 2},
                                      {rc.left + 2, rc.top}};
                ::Polyline(hDC, pts, 9);
            }
            ::SelectObject(hDC, hOldPen);
            if (hPen != NULL)
                ::DeleteObject(hPen);
            if (hBmp != NULL)
                ::DeleteObject(hBmp);
        }
    }
    dc.RestoreDC(nSaved);
}

void CExtPaintManagerOffice2003::DrawBarFrame(CDC& dc, PAINTBARFRAMEDATA& _pbfd)
{
    if (::IsRectEmpty(&_pbfd.m_rcWindow))
        return;
    // A docked bar shows the bar gradient through its frame.
    if (!_pbfd.m_bFloating && NB::IsControlBar(_pbfd.m_pHelperSrc) && DcBits(dc) > 8)
        return;
    CExtPaintManagerXP::DrawBarFrame(dc, _pbfd);
}

void CExtPaintManagerStudio2005::DrawBarFrame(CDC& dc, PAINTBARFRAMEDATA& _pbfd)
{
    CObject* pSrc = _pbfd.m_pHelperSrc;
    if (!NB::IsToolBar(pSrc) && _pbfd.m_bFloating && _pbfd.m_bNoInnerBorder)
    {
        const LPARAM lParam = _pbfd.m_lParam;
        DrawBarFrameClassic(dc, _pbfd, LookupColor(CLR_3DFACE_OUT, pSrc, lParam),
                            LookupColor(COLOR_3DDKSHADOW, pSrc, lParam),
                            LookupColor(COLOR_WINDOW, pSrc, lParam),
                            LookupColor(COLOR_BTNSHADOW, pSrc, lParam));
        return;
    }
    CExtPaintManagerOffice2003::DrawBarFrame(dc, _pbfd);
}
