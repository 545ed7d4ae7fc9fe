// Check boxes and radio buttons: the text with the glyph placed beside it, and the glyph
// itself, drawn with the visual style "BUTTON" when visual styles are on and with
// DrawFrameControl otherwise. Every theme shares these bodies.
#include "toolkit/theme/pm_check_radio.h"

typedef CExtPaintManager::PAINTCHECKBOXDATA PAINTCHECKBOXDATA;

PAINTCHECKBOXDATA::PAINTCHECKBOXDATA(CObject* pHelperSrc, int eState, bool bLeftText,
                                     bool bMultiline, const RECT& rcClient, LPCTSTR sText,
                                     bool bHover, bool bPushed, bool bEnabled,
                                     bool bDrawFocusRect, DWORD nAlignment, HFONT hFont,
                                     bool bExtraFlag)
    : m_eState(eState),
      m_pHelperSrc(pHelperSrc),
      m_lParam(0),
      m_rcClient(rcClient),
      m_sText(sText != NULL ? sText : _T("")),
      m_nAlignment(nAlignment),
      m_hFont(hFont),
      m_bLeftText(bLeftText),
      m_bMultiline(bMultiline),
      m_bHover(bHover),
      m_bPushed(bPushed),
      m_bEnabled(bEnabled),
      m_bDrawFocusRect(bDrawFocusRect),
      m_bExtraFlag(bExtraFlag),
      m_bReserved7(false),
      m_clrForceTextDisabled(COLORREF(-1)),
      m_clrForceTextNormal(COLORREF(-1)),
      m_clrForceTextHover(COLORREF(-1)),
      m_clrForceTextPressed(COLORREF(-1)),
      m_clrForceBk(COLORREF(-1))
{
    ::SetRectEmpty(&m_rcBox);
}

namespace {

// Parts of the visual-style class "BUTTON".
const int g_nPartRadio = 2, g_nPartCheck = 3;

// Visual-style states of BP_CHECKBOX and BP_RADIOBUTTON, and DrawFrameControl state bits,
// by record state. A radio button has no indeterminate states.
const int g_arrCheckStyleState[12] = {1, 5, 9, 3, 7, 11, 2, 6, 10, 4, 8, 12};
const int g_arrRadioStyleState[12] = {1, 5, 0, 3, 7, 0, 2, 6, 0, 4, 8, 0};
const UINT g_arrCheckFrameState[12] = {0,     0x400, 0x408, 0x200, 0x600, 0x608,
                                       0,     0x400, 0x408, 0x100, 0x500, 0x508};
const UINT g_arrRadioFrameState[12] = {0, 0x400, 0, 0x200, 0x600, 0, 0, 0x400, 0, 0x100, 0x500, 0};

int StateIndex(int eState)
{
    // A state out of the table paints as an unchecked box at rest.
    return (eState >= 0 && eState < 12) ? eState : 0;
}

void PaintBoxGlyph(CDC& dc, PAINTCHECKBOXDATA& d, bool bRadio)
{
    if (::IsRectEmpty(&d.m_rcClient) || d.m_pHelperSrc == NULL)
        return;
    const int nOldMode = dc.SetBkMode(TRANSPARENT);
    const int n = StateIndex(d.m_eState);
    CButton* pButton = d.m_pHelperSrc->IsKindOf(RUNTIME_CLASS(CButton))
                           ? static_cast<CButton*>(d.m_pHelperSrc)
                           : NULL;
    HWND hWnd = (pButton != NULL) ? pButton->GetSafeHwnd() : NULL;
    bool bDone = false;
    UxThemeLibrary& ux = g_CurrentPaintManager.m_UxTheme;
    if (ux.IsUsable(true) && ux.OpenThemeData(hWnd, L"BUTTON") != NULL)
    {
        const HRESULT hr = ux.DrawThemeBackground(
            dc.GetSafeHdc(), bRadio ? g_nPartRadio : g_nPartCheck,
            bRadio ? g_arrRadioStyleState[n] : g_arrCheckStyleState[n], &d.m_rcBox, &d.m_rcBox);
        ux.CloseThemeData();
        bDone = SUCCEEDED(hr);
    }
    if (!bDone)
    {
        UINT nState = (bRadio ? DFCS_BUTTONRADIO : DFCS_BUTTONCHECK) |
                      (bRadio ? g_arrRadioFrameState[n] : g_arrCheckFrameState[n]);
        if (hWnd != NULL && (::GetWindowLongA(hWnd, GWL_STYLE) & BS_FLAT) != 0)
            nState |= DFCS_FLAT;
        RECT rcBox = d.m_rcBox;
        dc.DrawFrameControl(&rcBox, DFC_BUTTON, nState);
    }
    dc.SetBkMode(nOldMode);
}

}  // namespace

void CExtPaintManager::DrawCheckBoxText(CDC& dc, PAINTCHECKBOXDATA& d, int nGlyphWidth,
                                        int nGlyphHeight, RECT& rcGlyph)
{
    if (::IsRectEmpty(&d.m_rcClient))
        return;
    if (!d.m_bEnabled)
    {
        d.m_bHover = false;
        d.m_bDrawFocusRect = false;
    }
    const RECT& rcClient = d.m_rcClient;
    rcGlyph.left = rcClient.left;
    rcGlyph.top = rcClient.top;
    rcGlyph.right = rcGlyph.left + nGlyphWidth;
    rcGlyph.bottom = rcGlyph.top + nGlyphHeight;
    RECT rcTextArea = rcClient;
    if (d.m_bLeftText)
    {
        rcGlyph.right = rcClient.right;
        rcGlyph.left = rcGlyph.right - nGlyphWidth;
        rcTextArea.left = rcClient.left + 1;
        rcTextArea.right = rcGlyph.left - 2;
    }
    else
        rcTextArea.left = rcGlyph.right + 4;
    ::InflateRect(&rcTextArea, -1, -1);

    const int nOldMode = dc.SetBkMode(TRANSPARENT);
    const CString sText(d.m_sText != NULL ? d.m_sText : _T(""));
    if (!sText.IsEmpty() && rcTextArea.left < rcTextArea.right && rcTextArea.top < rcTextArea.bottom)
    {
        // No theme of this toolkit colours check-box text on its own, so the record's
        // colours and the system colours decide.
        COLORREF clrText = COLORREF(-1);
        if (d.m_bEnabled)
        {
            if (d.m_bHover && !d.m_bPushed)
                clrText = d.m_clrForceTextHover;
            if (d.m_bPushed)
            {
                clrText = d.m_clrForceTextPressed;
                if (clrText == COLORREF(-1) && d.m_bHover)
                    clrText = d.m_clrForceTextHover;
            }
            if (clrText == COLORREF(-1))
                clrText = d.m_clrForceTextNormal;
        }
        else
            clrText = d.m_clrForceTextDisabled;
        if (clrText == COLORREF(-1))
            clrText = LookupColor(d.m_bEnabled ? COLOR_BTNTEXT : COLOR_BTNSHADOW);

        HFONT hFont = (d.m_hFont != NULL) ? d.m_hFont : (HFONT)m_FontNormal.GetSafeHandle();
        HDC hDC = dc.GetSafeHdc();
        HGDIOBJ hOldFont = (hFont != NULL) ? ::SelectObject(hDC, hFont) : NULL;
        const COLORREF clrOldText = dc.SetTextColor(clrText);

        const UINT nLines = d.m_bMultiline ? DT_WORDBREAK : DT_SINGLELINE;
        RECT rcText = rcTextArea;
        ::DrawTextA(hDC, sText, sText.GetLength(), &rcText, nLines | DT_CALCRECT);
        const int w = rcText.right - rcText.left, h = rcText.bottom - rcText.top;
        const int W = rcTextArea.right - rcTextArea.left, H = rcTextArea.bottom - rcTextArea.top;
        UINT nAlign = 0;
        switch (d.m_nAlignment & 0x03)
        {
        case 2:
            nAlign |= DT_RIGHT;
            rcText.left = rcTextArea.right - w;
            break;
        case 1:
            nAlign |= DT_CENTER;
            rcText.left = rcTextArea.left + (W - w) / 2;
            break;
        default:
            rcText.left = rcTextArea.left;
            break;
        }
        rcText.right = rcText.left + w;
        const int nGlyphH = rcGlyph.bottom - rcGlyph.top;
        switch (d.m_nAlignment & 0x1C)
        {
        case 16:
            nAlign |= DT_BOTTOM;
            rcText.top = rcTextArea.bottom - h;
            rcGlyph.bottom = rcClient.bottom;
            rcGlyph.top = rcGlyph.bottom - nGlyphH;
            break;
        case 4:
            rcText.top = rcTextArea.top;
            break;
        default:
            nAlign |= DT_VCENTER;
            rcText.top = rcTextArea.top + (H - h) / 2;
            rcGlyph.top = rcClient.top + ((rcClient.bottom - rcClient.top) - nGlyphH) / 2;
            rcGlyph.bottom = rcGlyph.top + nGlyphH;
            break;
        }
        rcText.bottom = rcText.top + h;
        RECT rcDraw = rcText;
        ::DrawTextA(hDC, sText, sText.GetLength(), &rcDraw, nAlign | nLines);
        dc.SetTextColor(clrOldText);
        if (hOldFont != NULL)
            ::SelectObject(hDC, hOldFont);

        if (d.m_bDrawFocusRect)
        {
            RECT rcFocus = rcText;
            ::InflateRect(&rcFocus, 2, 2);
            ::IntersectRect(&rcFocus, &rcFocus, &rcTextArea);
            if (d.m_bLeftText)
                rcFocus.right++;
            else
                rcFocus.left--;
            const COLORREF clrT = dc.SetTextColor(RGB(0, 0, 0));
            const COLORREF clrB = dc.SetBkColor(RGB(255, 255, 255));
            dc.DrawFocusRect(&rcFocus);
            dc.SetTextColor(clrT);
            dc.SetBkColor(clrB);
        }
    }
    dc.SetBkMode(nOldMode);
}

void CExtPaintManager::DrawCheckBoxGlyph(CDC& dc, PAINTCHECKBOXDATA& d)
{
    PaintBoxGlyph(dc, d, false);
}

void CExtPaintManager::DrawRadioGlyph(CDC& dc, PAINTCHECKBOXDATA& d)
{
    PaintBoxGlyph(dc, d, true);
}

void CExtPaintManager::DrawCheckBox(CDC& dc, PAINTCHECKBOXDATA& d)
{
    if (::IsRectEmpty(&d.m_rcClient) || !dc.RectVisible(&d.m_rcClient))
        return;
    if (!d.m_bEnabled)
    {
        d.m_bHover = false;
        d.m_bDrawFocusRect = false;
    }
    const SIZE sz = GetCheckBoxSize();
    RECT rcBox = {0, 0, 0, 0};
    DrawCheckBoxText(dc, d, sz.cx, sz.cy, rcBox);
    d.m_rcBox = rcBox;
    DrawCheckBoxGlyph(dc, d);
}

void CExtPaintManager::DrawRadioButton(CDC& dc, PAINTCHECKBOXDATA& d)
{
    if (::IsRectEmpty(&d.m_rcClient) || !dc.RectVisible(&d.m_rcClient))
        return;
    if (!d.m_bEnabled)
    {
        d.m_bHover = false;
        d.m_bDrawFocusRect = false;
    }
    const SIZE sz = GetRadioButtonSize();
    RECT rcBox = {0, 0, 0, 0};
    DrawCheckBoxText(dc, d, sz.cx, sz.cy, rcBox);
    d.m_rcBox = rcBox;
    DrawRadioGlyph(dc, d);
}
