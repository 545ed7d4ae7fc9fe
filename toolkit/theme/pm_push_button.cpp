// Push-button painting: the classic raised and sunken look of the base theme, the flat
// XP look (shared by Office 2003 and Studio 2005) with its gradient faces, the drop-down
// part of drop-down and split buttons, and window-command glyphs in place of an icon.
#include "toolkit/theme/pm_push_button.h"
#include "toolkit/theme/pm_glyphs.h"
#include "toolkit/theme/pm_neighbours.h"
#include "toolkit/core/cmd_icon.h"
#include "toolkit/core/resource_manager.h"

#include <algorithm>

typedef CExtPaintManager::PAINTBUTTONDATA PAINTBUTTONDATA;

// ---- the record --------------------------------------------------------------------------

PAINTBUTTONDATA::pfnQueryRTL PAINTBUTTONDATA::g_pfnPopupMenuRTL = NULL;
PAINTBUTTONDATA::pfnQueryRTL PAINTBUTTONDATA::g_pfnBarButtonRTL = NULL;

PAINTBUTTONDATA::PAINTBUTTONDATA()
    : PAINTBUTTONDATA(NULL, true, RECT{0, 0, 0, 0}, NULL, NULL, false, false, false, false, true,
                      false, false, false, 0)
{
}

PAINTBUTTONDATA::PAINTBUTTONDATA(CObject* pHelperSrc, bool bHorz, const RECT& rcClient,
                                 LPCTSTR sText, CExtCmdIcon* pIcon, bool bFlat, bool bHover,
                                 bool bPushed, bool bIndeterminate, bool bEnabled,
                                 bool bDrawBorder, bool bDrawFocusRect, bool bDefaultPushButton,
                                 DWORD nIconAlignment, HFONT hFont, bool bDropDown,
                                 UINT nHelperSysCmdID, bool bTransparentBackground)
    : m_pHelperSrc(pHelperSrc),
      m_lParam(0),
      m_rcClient(rcClient),
      m_sText(sText != NULL ? sText : _T("")),
      m_pIcon(pIcon),
      m_nIconAlignment(nIconAlignment),
      m_hFont(hFont),
      m_nHelperSysCmdID(nHelperSysCmdID),
      m_bHorz(bHorz),
      m_bFlat(bFlat),
      m_bHover(bHover),
      m_bPushed(bPushed),
      m_bReserved4(false),
      m_bIndeterminate(bIndeterminate),
      m_bEnabled(bEnabled),
      m_bDrawBorder(bDrawBorder),
      m_bDrawFocusRect(bDrawFocusRect),
      m_bDefaultPushButton(bDefaultPushButton),
      m_bDropDown(bDropDown),
      m_bTransparentBackground(bTransparentBackground),
      m_bSeparatedDropDown(false),
      m_bPushedDropDown(false),
      m_bReserved14(false),
      m_bWordBreak(false),
      m_clrForceTextDisabled(COLORREF(-1)),
      m_clrForceTextNormal(COLORREF(-1)),
      m_clrForceTextHover(COLORREF(-1)),
      m_clrForceTextPressed(COLORREF(-1)),
      m_clrCustomIcon(COLORREF(-1)),
      m_clrForceBk(COLORREF(-1)),
      m_nTextPlacement(0),
      m_bOnePassText(false),
      m_bForceRtlLayout(false),
      m_bForceRtlText(false)
{
    if ((nIconAlignment & 0x01) != 0)
        m_nTextPlacement = 1;
    else if ((nIconAlignment & 0x02) != 0)
        m_nTextPlacement = 2;
    if ((nIconAlignment & 0x08) != 0)
        m_nTextPlacement += 4;
}

bool PAINTBUTTONDATA::IsRTL() const
{
    if (m_bForceRtlLayout)
        return true;
    if (m_pHelperSrc == NULL)
        return false;
    if (CExtPmNeighbours::IsPopupMenu(m_pHelperSrc))
    {
        if (g_pfnPopupMenuRTL != NULL)
            return g_pfnPopupMenuRTL(m_pHelperSrc);
        if (m_pHelperSrc->IsKindOf(RUNTIME_CLASS(CWnd)))
        {
            HWND hWnd = static_cast<const CWnd*>(m_pHelperSrc)->GetSafeHwnd();
            return hWnd != NULL && (::GetWindowLongA(hWnd, GWL_EXSTYLE) & WS_EX_LAYOUTRTL) != 0;
        }
        return false;
    }
    if (CExtPmNeighbours::IsBarButton(m_pHelperSrc))
    {
        if ((g_CurrentResourceManager->GetLangLayout() & LAYOUT_RTL) != 0)
            return true;
        return g_pfnBarButtonRTL != NULL && g_pfnBarButtonRTL(m_pHelperSrc);
    }
    return false;
}

// ---- window-command glyphs ---------------------------------------------------------------

namespace {

const CExtPaintManager::glyph* SysCommandGlyph(UINT nCmd)
{
    switch (nCmd)
    {
    case SC_CLOSE:
        return g_ButtonGlyphs[1];
    case SC_MINIMIZE:
        return g_ButtonGlyphs[6];
    case SC_MAXIMIZE:
        return g_ButtonGlyphs[8];
    case SC_RESTORE:
        return g_ButtonGlyphs[7];
    case SC_CONTEXTHELP:
        return g_ButtonGlyphs[9];
    default:
        return NULL;
    }
}

}  // namespace

void CExtPaintManager::DrawSysCommandGlyph(CDC& dc, UINT nHelperSysCmdID, const RECT& rcIn,
                                           bool bHover, bool bPushed, bool bEnabled)
{
    const glyph* pGlyph = SysCommandGlyph(nHelperSysCmdID);
    if (pGlyph == NULL)
        return;
    RECT rc = rcIn;
    if (bPushed)
    {
        const SIZE sz = GetPushedOffset();
        ::OffsetRect(&rc, sz.cx, sz.cy);
    }
    if (bEnabled)
    {
        const COLORREF arr[2] = {0, bHover ? LookupColor(COLOR_HIGHLIGHTTEXT)
                                           : LookupColor(CLR_TEXT_OUT)};
        DrawGlyph(dc, rc, *pGlyph, arr);
        return;
    }
    RECT rcEmboss = rc;
    ::OffsetRect(&rcEmboss, 1, 1);
    const COLORREF arrLight[2] = {0, LookupColor(CLR_3DHILIGHT_OUT)};
    DrawGlyph(dc, rcEmboss, *pGlyph, arrLight);
    const COLORREF arrDark[2] = {0, LookupColor(CLR_3DSHADOW_OUT)};
    DrawGlyph(dc, rc, *pGlyph, arrDark);
}

void CExtPaintManagerXP::DrawSysCommandGlyph(CDC& dc, UINT nHelperSysCmdID, const RECT& rcIn,
                                             bool bHover, bool bPushed, bool bEnabled)
{
    const glyph* pGlyph = SysCommandGlyph(nHelperSysCmdID);
    if (pGlyph == NULL)
        return;
    RECT rc = rcIn;
    if (bPushed)
    {
        const SIZE sz = GetPushedOffset();
        ::OffsetRect(&rc, sz.cx, sz.cy);
    }
    if (!bEnabled)
    {
        const COLORREF arr[2] = {0, LookupColor(COLOR_BTNSHADOW)};
        DrawGlyph(dc, rc, *pGlyph, arr);
        return;
    }
    const COLORREF arr[2] = {0, LookupColor(CLR_TEXT_OUT)};
    if ((m_nXpFlags & 0x01) != 0 && bHover && !bPushed)
    {
        const COLORREF arrShadow[2] = {0, LookupColor(COLOR_BTNSHADOW)};
        DrawGlyph(dc, rc, *pGlyph, arrShadow);
        ::OffsetRect(&rc, -2, -2);
    }
    DrawGlyph(dc, rc, *pGlyph, arr);
}

// ---- push buttons ------------------------------------------------------------------------

namespace {

const int g_nDropPartExtent = 6 + 5;  // the drop arrow's 5 pixels and 3 on either side

class ButtonPainter
{
public:
    ButtonPainter(CExtPaintManager& pm, CDC& dc, PAINTBUTTONDATA& d, CExtPaintManagerXP* pXP)
        : m_pm(pm), m_dc(dc), m_d(d), m_pXP(pXP)
    {
    }

    void Paint();

private:
    COLORREF Color(int n) { return m_pm.LookupColor(n, m_d.m_pHelperSrc, m_d.m_lParam); }
    void FillFace(const RECT& rc, bool bLookPushed, bool bDropPart);
    void DrawFrame(const RECT& rc, bool bLookPushed, bool bDoubleWhenHover);
    void DrawDropArrow(RECT rc, bool bLookPushed);
    void DrawText(RECT rcText, bool bPushed);
    void DrawHorzText(const CString& sText, const RECT& rcText, COLORREF clrText, bool bEmboss);
    void DrawVertText(const CString& sText, const RECT& rcText, COLORREF clrText, bool bEmboss);

    CExtPaintManager& m_pm;
    CDC& m_dc;
    PAINTBUTTONDATA& m_d;
    CExtPaintManagerXP* m_pXP;  // NULL: the classic look
    bool m_bAnyState = false;   // hovered, pushed or drop-down part pressed
};

void ButtonPainter::FillFace(const RECT& rc, bool bLookPushed, bool bDropPart)
{
    if (::IsRectEmpty(&rc))
        return;
    if (m_d.m_bTransparentBackground && m_d.m_clrForceBk == COLORREF(-1))
        return;
    if (m_d.m_clrForceBk != COLORREF(-1))
    {
        m_dc.FillSolidRect(&rc, m_d.m_clrForceBk);
        return;
    }
    if (m_pXP == NULL)
    {
        CBrush& brush = m_pm.GetAuxBrush(0);
        if (m_d.m_bEnabled && m_d.m_bHover && bLookPushed && brush.GetSafeHandle() != NULL)
            m_dc.FillRect(&rc, &brush);
        else
            m_dc.FillSolidRect(&rc, Color((m_d.m_bHover || m_d.m_bPushed) ? CExtPaintManager::CLR_3DFACE_IN
                                                                        : CExtPaintManager::CLR_3DFACE_OUT));
        return;
    }
    COLORREF clr;
    if (!m_bAnyState)
        clr = m_d.m_bFlat ? Color(CExtPaintManager::CLR_3DFACE_OUT) : Color(COLOR_BTNFACE);
    else
        clr = Color(CExtPaintManager::CLR_3DFACE_IN);
    if (bLookPushed)
        clr = Color(m_d.m_bHover ? CExtPaintManager::XPCLR_HILIGHT : CExtPaintManager::CLR_3DFACE_IN);
    if (bDropPart && m_d.m_bSeparatedDropDown && m_d.m_bPushed && !m_d.m_bHover &&
        !m_d.m_bPushedDropDown)
        clr = Color(CExtPaintManager::CLR_3DFACE_OUT);
    int nFirst = -1, nSecond = -1;
    if (m_d.m_bHover && bLookPushed)
    {
        nFirst = m_pXP->m_nIdxClrBtnHovPresLeft;
        nSecond = m_pXP->m_nIdxClrBtnHovPresRight;
    }
    else if (bLookPushed)
    {
        nFirst = m_pXP->m_nIdxClrBtnPressedLeft;
        nSecond = m_pXP->m_nIdxClrBtnPressedRight;
    }
    else if (m_d.m_bHover)
    {
        nFirst = m_pXP->m_nIdxClrBtnHoverLeft;
        nSecond = m_pXP->m_nIdxClrBtnHoverRight;
    }
    const bool bLowColor = CExtPaintManager::GetDcBitsPerPixel(m_dc.GetSafeHdc()) <= 8 ||
                           CExtPaintManager::GetScreenBitsPerPixel() <= 8;
    if (nFirst >= 0 && nSecond >= 0 && !bLowColor)
    {
        // First colour at the top of a horizontal button, at the right of a vertical one.
        CExtPaintManager::GradientFillRect(m_dc, rc, Color(nSecond), Color(nFirst), m_d.m_bHorz);
        return;
    }
    m_dc.FillSolidRect(&rc, clr);
}

void ButtonPainter::DrawFrame(const RECT& rcIn, bool bLookPushed, bool bDoubleWhenHover)
{
    if (::IsRectEmpty(&rcIn))
        return;
    RECT rc = rcIn;
    const bool bFlat = m_d.m_bFlat, bBorder = m_d.m_bDrawBorder, bHover = m_d.m_bHover;
    if (m_pXP != NULL)
    {
        if (bFlat && !((bHover || bLookPushed) && bBorder))
            return;
        COLORREF clr;
        if (!m_bAnyState)
            clr = bFlat ? Color(CExtPaintManager::XPCLR_HILIGHT_BORDER) : Color(COLOR_BTNSHADOW);
        else
            clr = Color(CExtPaintManager::XPCLR_HILIGHT_BORDER);
        m_dc.Draw3dRect(&rc, clr, clr);
        return;
    }
    if (bLookPushed)
    {
        if (!bFlat || bBorder)
            m_dc.Draw3dRect(&rc, Color(CExtPaintManager::CLR_3DSHADOW_IN),
                            Color(CExtPaintManager::CLR_3DHILIGHT_IN));
        return;
    }
    if (bFlat)
    {
        if (bHover && bBorder)
            m_dc.Draw3dRect(&rc, Color(CExtPaintManager::CLR_3DHILIGHT_OUT),
                            Color(CExtPaintManager::CLR_3DSHADOW_OUT));
        return;
    }
    if (bHover && bDoubleWhenHover)
    {
        m_dc.Draw3dRect(&rc, Color(CExtPaintManager::CLR_3DSHADOW_OUT),
                        Color(CExtPaintManager::CLR_3DDKSHADOW_OUT));
        ::InflateRect(&rc, -1, -1);
    }
    m_dc.Draw3dRect(&rc, Color(CExtPaintManager::CLR_3DHILIGHT_OUT),
                    Color(CExtPaintManager::CLR_3DSHADOW_OUT));
}

void ButtonPainter::DrawDropArrow(RECT rc, bool bLookPushed)
{
    if (((rc.right - rc.left) & 1) != 0)
        rc.left++;
    if (bLookPushed)
    {
        const SIZE sz = m_pm.GetPushedOffset();
        ::OffsetRect(&rc, sz.cx, sz.cy);
    }
    COLORREF clr;
    if (m_pXP == NULL)
        clr = Color(m_d.m_bEnabled ? CExtPaintManager::CLR_TEXT_OUT : CExtPaintManager::CLR_3DSHADOW_OUT);
    else if (m_d.m_bEnabled)
        clr = (m_pXP->m_nIdxClrBtnDropArrowEnabled != -1) ? Color(m_pXP->m_nIdxClrBtnDropArrowEnabled)
                                                          : Color(COLOR_BTNTEXT);
    else
        clr = (m_pXP->m_nIdxClrBtnDropArrowDisabled != -1) ? Color(m_pXP->m_nIdxClrBtnDropArrowDisabled)
                                                           : Color(COLOR_BTNSHADOW);
    const COLORREF arr[2] = {0, clr};
    m_pm.DrawGlyph(m_dc, rc, m_d.m_bHorz ? g_glyphDropArrowDown : g_glyphDropArrowRight, arr);
}

void ButtonPainter::Paint()
{
    if (::IsRectEmpty(&m_d.m_rcClient) || !m_dc.RectVisible(&m_d.m_rcClient))
        return;
    const COLORREF clrOldText = m_dc.GetTextColor(), clrOldBk = m_dc.GetBkColor();
    const int nOldBkMode = m_dc.SetBkMode(TRANSPARENT);

    if (!m_d.m_bEnabled)
    {
        m_d.m_bHover = false;
        m_d.m_bIndeterminate = false;
        m_d.m_bDrawFocusRect = false;
    }
    if (m_d.m_bSeparatedDropDown && (m_d.m_bPushed || m_d.m_bPushedDropDown))
        m_d.m_bHover = false;
    m_bAnyState = m_d.m_bHover || m_d.m_bPushed || m_d.m_bPushedDropDown;
    const bool bSplit = m_d.m_bSeparatedDropDown;
    const bool bLookPushed = (m_d.m_bPushed && !bSplit) || m_d.m_bPushedDropDown;
    // A split button presses its halves apart; any other button looks pushed as a whole.
    const bool bMainPushed = bSplit ? m_d.m_bPushed : bLookPushed;

    RECT rcMain = m_d.m_rcClient;
    if (m_d.m_bDropDown)
    {
        RECT rcPart = rcMain;
        if (m_d.m_bHorz)
        {
            if (m_d.IsRTL())
            {
                rcPart.right = std::min(rcMain.left + g_nDropPartExtent, rcMain.right);
                rcMain.left = rcPart.right;
            }
            else
            {
                rcPart.left = std::max(rcMain.right - g_nDropPartExtent, rcMain.left);
                rcMain.right = rcPart.left;
            }
        }
        else
        {
            rcPart.top = std::max(rcMain.bottom - g_nDropPartExtent, rcMain.top);
            rcMain.bottom = rcPart.top;
        }
        FillFace(rcPart, bLookPushed, true);
        if (bSplit)
            DrawFrame(rcPart, bLookPushed, false);
        DrawDropArrow(rcPart, bLookPushed);
    }

    FillFace(rcMain, bMainPushed, false);
    // A drop-down that is not split is one button: its frame goes round the arrow too.
    DrawFrame((m_d.m_bDropDown && !bSplit && !::IsRectEmpty(&rcMain)) ? m_d.m_rcClient : rcMain, bMainPushed,
              true);

    if (!::IsRectEmpty(&rcMain))
    {
        RECT rcContent = rcMain, rcText = rcMain;
        const CString sText(m_d.m_sText != NULL ? m_d.m_sText : _T(""));
        if (m_d.m_pIcon != NULL && !m_d.m_pIcon->IsEmpty())
        {
            const bool bIconRTL = m_d.m_bHorz && m_d.m_bForceRtlLayout;
            m_pm.PaintIcon(&m_dc, m_d.m_bHorz, sText, m_d.m_pIcon, rcContent, rcText, bMainPushed,
                           m_d.m_bEnabled, m_d.m_bHover, (INT)m_d.m_nIconAlignment, bIconRTL,
                           m_d.m_clrCustomIcon);
            if (m_d.m_bHorz && CExtPmNeighbours::IsPopupMenu(m_d.m_pHelperSrc))
                ::OffsetRect(&rcText, bIconRTL ? -3 : 3, 0);
        }
        else
        {
            const int n = (m_pXP != NULL) ? 3 : 2;
            if (m_d.m_bHorz)
            {
                rcContent.left += n;
                rcContent.right -= n;
            }
            else
            {
                rcContent.top += n;
                rcContent.bottom -= n;
            }
            rcText = rcContent;
            if (m_d.m_nHelperSysCmdID != 0)
                m_pm.DrawSysCommandGlyph(m_dc, m_d.m_nHelperSysCmdID, rcContent, m_d.m_bHover,
                                         bMainPushed, m_d.m_bEnabled);
        }
        if (!sText.IsEmpty())
            DrawText(rcText, bMainPushed);
    }

    if (m_d.m_bDrawFocusRect)
    {
        RECT rcFocus = m_d.m_rcClient;
        ::InflateRect(&rcFocus, -3, -3);
        m_dc.SetTextColor(RGB(0, 0, 0));
        m_dc.SetBkColor(RGB(255, 255, 255));
        m_dc.DrawFocusRect(&rcFocus);
    }
    m_dc.SetBkMode(nOldBkMode);
    m_dc.SetBkColor(clrOldBk);
    m_dc.SetTextColor(clrOldText);
}

void ButtonPainter::DrawText(RECT rcText, bool bPushed)
{
    const CString sText(m_d.m_sText);
    if (bPushed)
    {
        const SIZE sz = m_pm.GetPushedOffset();
        ::OffsetRect(&rcText, sz.cx, sz.cy);
    }
    const bool bEnabled = m_d.m_bEnabled;
    COLORREF clrText;
    if (m_pXP == NULL)
    {
        if (!bEnabled)
            clrText = (m_d.m_clrForceTextDisabled != COLORREF(-1)) ? m_d.m_clrForceTextDisabled
                                                                  : Color(COLOR_BTNFACE);
        else
        {
            clrText = bPushed ? m_d.m_clrForceTextPressed
                      : m_d.m_bHover ? m_d.m_clrForceTextHover
                                     : COLORREF(-1);
            if (clrText == COLORREF(-1))
                clrText = m_d.m_clrForceTextNormal;
            if (clrText == COLORREF(-1))
                clrText = Color(COLOR_BTNTEXT);
        }
    }
    else
    {
        if (!bEnabled)
            clrText = (m_d.m_clrForceTextDisabled != COLORREF(-1)) ? m_d.m_clrForceTextDisabled
                                                                  : Color(COLOR_BTNSHADOW);
        else if (m_d.m_bHover && bPushed)
        {
            clrText = m_d.m_clrForceTextPressed;
            if (clrText == COLORREF(-1))
                clrText = m_d.m_clrForceTextNormal;
            if (clrText == COLORREF(-1))
                clrText = Color(CExtPaintManager::XPCLR_PUSHEDHOVERTEXT);
        }
        else
            clrText = (m_d.m_clrForceTextNormal != COLORREF(-1)) ? m_d.m_clrForceTextNormal
                                                                : Color(COLOR_BTNTEXT);
    }
    const bool bEmboss = m_pXP == NULL && !bEnabled &&
                         m_d.m_clrForceTextDisabled == COLORREF(-1) && !m_d.m_bOnePassText;

    // The font: the caller's, else the theme's button font; vertical buttons need it
    // turned to run downwards.
    HFONT hFont = m_d.m_hFont;
    CFont fontRotated;
    if (m_d.m_bHorz)
    {
        if (hFont == NULL)
            hFont = (HFONT)(m_d.m_bDefaultPushButton ? m_pm.m_FontBold : m_pm.m_FontNormal)
                        .GetSafeHandle();
    }
    else if (hFont != NULL)
    {
        LOGFONT lf;
        ::memset(&lf, 0, sizeof(lf));
        if (::GetObject(hFont, sizeof(lf), &lf) == sizeof(lf) && lf.lfEscapement == 0)
        {
            lf.lfEscapement = 2700;
            lf.lfOrientation = 2700;
            if (fontRotated.CreateFontIndirect(&lf))
                hFont = (HFONT)fontRotated.GetSafeHandle();
        }
    }
    else
        hFont = (HFONT)(m_d.m_bDefaultPushButton ? m_pm.m_FontBoldVert : m_pm.m_FontNormalVert)
                    .GetSafeHandle();
    HGDIOBJ hOldFont = (hFont != NULL) ? ::SelectObject(m_dc.GetSafeHdc(), hFont) : NULL;
    if (m_d.m_bHorz)
        DrawHorzText(sText, rcText, clrText, bEmboss);
    else
        DrawVertText(sText, rcText, clrText, bEmboss);
    if (hOldFont != NULL)
        ::SelectObject(m_dc.GetSafeHdc(), hOldFont);
}

void ButtonPainter::DrawHorzText(const CString& sText, const RECT& rcText, COLORREF clrText,
                                 bool bEmboss)
{
    HDC hDC = m_dc.GetSafeHdc();
    UINT nFlags = m_d.m_bWordBreak ? DT_WORDBREAK : DT_SINGLELINE;
    if (m_d.IsRTL() || m_d.m_bForceRtlText)
        nFlags |= DT_RTLREADING;
    RECT rcCalc = rcText;
    ::DrawTextA(hDC, sText, sText.GetLength(), &rcCalc, nFlags | DT_CALCRECT);
    const int w = rcCalc.right - rcCalc.left, h = rcCalc.bottom - rcCalc.top;
    const int W = rcText.right - rcText.left, H = rcText.bottom - rcText.top;
    RECT rcDraw = rcText;
    if (w < W)
    {
        if ((m_d.m_nTextPlacement & 0x01) != 0)
            rcDraw.left += (W - w) / 2;
        rcDraw.right = rcDraw.left + w;
    }
    if (h < H)
    {
        if ((m_d.m_nTextPlacement & 0x04) != 0)
            rcDraw.top += (H - h) / 2;
        rcDraw.bottom = rcDraw.top + h;
    }
    if (bEmboss)
    {
        RECT rcLight = rcDraw;
        ::OffsetRect(&rcLight, 1, 1);
        m_dc.SetTextColor(Color(COLOR_BTNHIGHLIGHT));
        ::DrawTextA(hDC, sText, sText.GetLength(), &rcLight, nFlags);
        m_dc.SetTextColor(Color(COLOR_BTNSHADOW));
    }
    else
        m_dc.SetTextColor(clrText);
    ::DrawTextA(hDC, sText, sText.GetLength(), &rcDraw, nFlags);
}

void ButtonPainter::DrawVertText(const CString& sText, const RECT& rcText, COLORREF clrText,
                                 bool bEmboss)
{
    // The marker goes; "&&" stands for one ampersand.
    CString sClean;
    int nMnemonic = -1;
    const int nLen = sText.GetLength();
    for (int i = 0; i < nLen; i++)
    {
        const TCHAR c = sText[i];
        if (c == _T('&'))
        {
            if (i + 1 < nLen && sText[i + 1] == _T('&'))
            {
                sClean += _T('&');
                i++;
                continue;
            }
            if (nMnemonic < 0 && i + 1 < nLen)
                nMnemonic = sClean.GetLength();
            continue;
        }
        sClean += c;
    }
    HDC hDC = m_dc.GetSafeHdc();
    SIZE sz = {0, 0};
    ::GetTextExtentPoint32A(hDC, sClean, sClean.GetLength(), &sz);
    TEXTMETRICA tm;
    ::memset(&tm, 0, sizeof(tm));
    ::GetTextMetricsA(hDC, &tm);
    // Turned clockwise, the text runs down and the tops of its letters face right: its
    // reference point is the top-right corner of the turned cell.
    const int W = rcText.right - rcText.left, H = rcText.bottom - rcText.top;
    const int x = rcText.left + (W + sz.cy) / 2;
    const int y = rcText.top + (H - sz.cx) / 2;
    int nUnderlineFrom = 0, nUnderlineLen = 0;
    if (nMnemonic >= 0 && nMnemonic < sClean.GetLength())
    {
        SIZE szBefore = {0, 0}, szChar = {0, 0};
        ::GetTextExtentPoint32A(hDC, sClean, nMnemonic, &szBefore);
        ::GetTextExtentPoint32A(hDC, (LPCSTR)sClean + nMnemonic, 1, &szChar);
        nUnderlineFrom = szBefore.cx;
        nUnderlineLen = szChar.cx;
    }
    auto drawAt = [&](int dx, int dy, COLORREF clr) {
        m_dc.SetTextColor(clr);
        RECT rc = {x + dx, y + dy, x + dx + sz.cy, y + dy + sz.cx};
        ::DrawTextA(hDC, sClean, sClean.GetLength(), &rc, DT_SINGLELINE | DT_NOCLIP | DT_NOPREFIX);
        if (nUnderlineLen > 0)
        {
            CPen pen;
            pen.CreatePen(PS_SOLID, 1, clr);
            CPen* pOldPen = m_dc.SelectObject(&pen);
            const int xLine = x + dx - tm.tmAscent - 1;
            m_dc.MoveTo(xLine, y + dy + nUnderlineFrom);
            m_dc.LineTo(xLine, y + dy + nUnderlineFrom + nUnderlineLen);
            m_dc.SelectObject(pOldPen);
        }
    };
    if (bEmboss)
    {
        drawAt(1, 1, Color(COLOR_BTNHIGHLIGHT));
        drawAt(0, 0, Color(COLOR_BTNSHADOW));
    }
    else
        drawAt(0, 0, clrText);
}

}  // namespace

void CExtPaintManager::DrawPushButton(CDC& dc, PAINTBUTTONDATA& _ppbd)
{
    ButtonPainter(*this, dc, _ppbd, NULL).Paint();
}

void CExtPaintManagerXP::DrawPushButton(CDC& dc, PAINTBUTTONDATA& _ppbd)
{
    ButtonPainter(*this, dc, _ppbd, this).Paint();
}
