// Panel parts: window-colour fills, frames, buttons, captions and splitters of
// panel-style controls, in the four themes.
#include "toolkit/theme/paint_manager.h"
#include "toolkit/theme/pm_push_button.h"
#include "toolkit/theme/pm_glyphs.h"
#include "toolkit/core/cmd_icon.h"

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

// The icon-title font, changed by the caller's edit; NULL when it cannot be made.
HFONT CreateIconTitleFont(void (*pfnEdit)(LOGFONT&))
{
    LOGFONT lf;
    ::memset(&lf, 0, sizeof(lf));
    if (!::SystemParametersInfo(SPI_GETICONTITLELOGFONT, sizeof(lf), &lf, 0))
        return NULL;
    if (pfnEdit != NULL)
        pfnEdit(lf);
    return ::CreateFontIndirect(&lf);
}

// Draws one line of text vertically centred in rc, measured first so that a text taller
// than the rectangle starts at its top.
void DrawCentredLine(CDC& dc, const RECT& rc, LPCTSTR sText, HFONT hFont, COLORREF clr,
                     UINT nAlign)
{
    if (sText == NULL || *sText == _T('\0'))
        return;
    HGDIOBJ hOldFont = (hFont != NULL) ? ::SelectObject(dc.GetSafeHdc(), hFont) : NULL;
    const int nOldMode = dc.SetBkMode(TRANSPARENT);
    const COLORREF clrOld = dc.SetTextColor(clr);
    RECT rcCalc = rc;
    dc.DrawText(sText, -1, &rcCalc, DT_SINGLELINE | DT_CALCRECT | nAlign);
    RECT rcText = rc;
    const int nHeight = rcCalc.bottom - rcCalc.top;
    if (nHeight < rc.bottom - rc.top)
    {
        rcText.top = rc.top + (rc.bottom - rc.top - nHeight) / 2;
        rcText.bottom = rcText.top + nHeight;
    }
    dc.DrawText(sText, -1, &rcText, DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX | nAlign);
    dc.SetTextColor(clrOld);
    dc.SetBkMode(nOldMode);
    if (hOldFont != NULL)
        ::SelectObject(dc.GetSafeHdc(), hOldFont);
}

}  // namespace

// ---- fills and frames -------------------------------------------------------------------

void CExtPaintManager::FillPanelBackground(CDC& dc, const RECT& rc, CObject* pHelperSrc)
{
    if (Visible(dc, rc))
        dc.FillSolidRect(&rc, LookupColor(COLOR_WINDOW, pHelperSrc));
}

void CExtPaintManager::DrawPanelFrame(CDC& dc, const RECT& rc)
{
    if (Visible(dc, rc))
        dc.Draw3dRect(&rc, LookupColor(COLOR_BTNSHADOW, this), LookupColor(COLOR_WINDOW, this));
}

void CExtPaintManagerXP::DrawPanelFrame(CDC& dc, const RECT& rc)
{
    if (Visible(dc, rc))
        FrameWithColor(dc, rc, LookupColor(COLOR_BTNSHADOW));
}

void CExtPaintManagerOffice2003::DrawPanelFrame(CDC& dc, const RECT& rc)
{
    if (Visible(dc, rc))
        FrameWithColor(dc, rc, LookupColor(3027));
}

void CExtPaintManager::FillPanelGradient(CDC& dc, const RECT& rc, CObject* pHelperSrc)
{
    if (!Visible(dc, rc))
        return;
    const COLORREF clr1 = LookupColor(CLR_MENUTEXT_IN, pHelperSrc);
    const COLORREF clr2 = LookupColor(CLR_MENUTEXT_OUT, pHelperSrc);
    if (clr1 == clr2)
        dc.FillSolidRect(&rc, clr2);
    else
        GradientFillRect(dc, rc, clr1, clr2, true);
}

void CExtPaintManager::FillPanelSolid(CDC& dc, const RECT& rc, CObject* pHelperSrc)
{
    if (Visible(dc, rc))
        dc.FillSolidRect(&rc, LookupColor(CLR_MENUTEXT_OUT, pHelperSrc));
}

void CExtPaintManager::DrawPanelItemFrame(CDC& dc, const RECT& rc, CObject* pHelperSrc)
{
    if (Visible(dc, rc))
        dc.Draw3dRect(&rc, LookupColor(COLOR_BTNSHADOW, pHelperSrc),
                      LookupColor(COLOR_WINDOW, pHelperSrc));
}

void CExtPaintManagerXP::DrawPanelItemFrame(CDC& dc, const RECT& rc, CObject* pHelperSrc)
{
    if (Visible(dc, rc))
        FrameWithColor(dc, rc, LookupColor(COLOR_BTNSHADOW, pHelperSrc));
}

// ---- buttons --------------------------------------------------------------------------------

void CExtPaintManager::DrawPanelButton(CDC& dc, const RECT& rc, LPCTSTR sText, CExtCmdIcon* pIcon,
                                       bool bFramed, bool bHover, bool bPushed, bool bEnabled,
                                       CObject* pHelperSrc)
{
    if (!Visible(dc, rc))
        return;
    dc.FillSolidRect(&rc, LookupColor(COLOR_BTNSHADOW, pHelperSrc));
    RECT rcContent = rc;
    if (bFramed)
    {
        // The bottom row is the line under the face; the content keeps off the other sides.
        dc.FillSolidRect(rc.left, rc.bottom - 1, rc.right - rc.left, 1,
                         LookupColor(COLOR_3DDKSHADOW, pHelperSrc));
        rcContent.left++;
        rcContent.top++;
        rcContent.right--;
    }
    if (bHover || bPushed)
    {
        const COLORREF clrLight = LookupColor(COLOR_WINDOW, pHelperSrc);
        const COLORREF clrDark = LookupColor(COLOR_3DDKSHADOW, pHelperSrc);
        if (bPushed && bHover)
            dc.Draw3dRect(&rc, clrDark, clrLight);
        else
            dc.Draw3dRect(&rc, clrLight, clrDark);
    }
    DrawPanelButtonContent(dc, rcContent, sText, pIcon, bFramed, bHover, bPushed, bEnabled,
                           pHelperSrc, true);
}

namespace {

void PanelPushFace(CExtPaintManager* pPM, CDC& dc, const RECT& rc, bool bHover, bool bPushed,
                   bool bEnabled, CObject* pHelperSrc)
{
    CExtPaintManager::PAINTBUTTONDATA _ppbd(pHelperSrc, true, rc, _T(""), NULL, true, bHover,
                                            bPushed, false, bEnabled, true, false, false, 0);
    pPM->DrawPushButton(dc, _ppbd);
}

}  // namespace

void CExtPaintManagerXP::DrawPanelButton(CDC& dc, const RECT& rc, LPCTSTR sText,
                                         CExtCmdIcon* pIcon, bool bFramed, bool bHover,
                                         bool bPushed, bool bEnabled, CObject* pHelperSrc)
{
    if (!Visible(dc, rc))
        return;
    RECT rcContent = rc;
    if (bFramed)
    {
        FrameWithColor(dc, rc, LookupColor(COLOR_BTNSHADOW, pHelperSrc));
        ::InflateRect(&rcContent, -1, -1);
    }
    if (bPushed || bHover != bPushed)
        PanelPushFace(this, dc, rcContent, bHover, bPushed, bEnabled, pHelperSrc);
    else
        dc.FillSolidRect(&rcContent,
                         LookupColor(GradientsPossible(dc) ? CLR_3DFACE_OUT : XPCLR_3DFACE_NORMAL,
                                     pHelperSrc));
    DrawPanelButtonContent(dc, rcContent, sText, pIcon, bFramed, bHover, bPushed, bEnabled,
                           pHelperSrc, true);
}

void CExtPaintManagerOffice2003::DrawPanelButton(CDC& dc, const RECT& rc, LPCTSTR sText,
                                                 CExtCmdIcon* pIcon, bool bFramed, bool bHover,
                                                 bool bPushed, bool bEnabled,
                                                 CObject* pHelperSrc)
{
    if (!Visible(dc, rc))
        return;
    RECT rcContent = rc;
    if (bFramed)
    {
        FrameWithColor(dc, rc, LookupColor(3027, pHelperSrc));
        ::InflateRect(&rcContent, -1, -1);
    }
    if (bHover || bPushed)
        PanelPushFace(this, dc, rcContent, bHover, bPushed, bEnabled, pHelperSrc);
    else if (GradientsPossible(dc))
        GradientFillRect(dc, rcContent, LookupColor(3032, pHelperSrc),
                         LookupColor(3033, pHelperSrc), true);
    else
        dc.FillSolidRect(&rcContent, LookupColor(XPCLR_3DFACE_NORMAL, pHelperSrc));
    DrawPanelButtonContent(dc, rcContent, sText, pIcon, bFramed, bHover, bPushed, bEnabled,
                           pHelperSrc, false);
}

void CExtPaintManager::DrawPanelButtonContent(CDC& dc, const RECT& rc, LPCTSTR sText,
                                              CExtCmdIcon* pIcon, bool, bool bHover,
                                              bool bPushed, bool bEnabled, CObject* pHelperSrc,
                                              bool)
{
    if (!Visible(dc, rc))
        return;
    RECT rcText = rc;
    if (pIcon != NULL && !pIcon->IsEmpty())
    {
        RECT rcCaption = rc;
        PaintIcon(&dc, true, CString(sText != NULL ? sText : _T("")), pIcon, rc, rcCaption,
                  bPushed, bEnabled, bHover, 0, false);
        rcText = rcCaption;
    }
    else
        ::InflateRect(&rcText, -3, 0);
    HFONT hFont = CreateIconTitleFont(NULL);
    DrawCentredLine(dc, rcText, sText, hFont,
                    LookupColor(bEnabled ? COLOR_BTNTEXT : COLOR_BTNSHADOW, pHelperSrc), DT_LEFT);
    if (hFont != NULL)
        ::DeleteObject(hFont);
}

// ---- texts, headers and bars -------------------------------------------------------------

void CExtPaintManager::DrawPanelBigText(CDC& dc, const RECT& rc, LPCTSTR sText,
                                        CObject* pHelperSrc)
{
    if (!Visible(dc, rc))
        return;
    HFONT hFont = CreateIconTitleFont([](LOGFONT& lf) {
        ::lstrcpyn(lf.lfFaceName, _T("Arial"), LF_FACESIZE);
        lf.lfWeight = FW_BOLD;
        lf.lfHeight = 20;
    });
    RECT rcText = rc;
    rcText.left += 4;
    DrawCentredLine(dc, rcText, sText, hFont, LookupColor(COLOR_WINDOW, pHelperSrc), DT_LEFT);
    if (hFont != NULL)
        ::DeleteObject(hFont);
}

void CExtPaintManager::DrawPanelHeader(CDC& dc, const RECT& rc, LPCTSTR sText)
{
    if (!Visible(dc, rc))
        return;
    dc.FillSolidRect(&rc, LookupColor(COLOR_BTNSHADOW, this));
    DrawPanelBigText(dc, rc, sText, this);
}

void CExtPaintManagerOffice2003::DrawPanelHeader(CDC& dc, const RECT& rc, LPCTSTR sText)
{
    if (!Visible(dc, rc))
        return;
    if (GradientsPossible(dc))
        GradientFillRect(dc, rc, LookupColor(3028, this), LookupColor(3029, this), true);
    else
        dc.FillSolidRect(&rc, LookupColor(3029, this));
    DrawPanelBigText(dc, rc, sText, this);
}

void CExtPaintManager::DrawPanelItemText(CDC& dc, const RECT& rc, LPCTSTR sText,
                                         CObject* pHelperSrc)
{
    if (!Visible(dc, rc))
        return;
    HFONT hFont = CreateIconTitleFont(NULL);
    RECT rcText = rc;
    rcText.left += 4;
    DrawCentredLine(dc, rcText, sText, hFont, LookupColor(COLOR_WINDOWTEXT, pHelperSrc), DT_LEFT);
    if (hFont != NULL)
        ::DeleteObject(hFont);
}

void CExtPaintManager::DrawPanelBar(CDC& dc, const RECT& rc, LPCTSTR sText)
{
    if (!Visible(dc, rc))
        return;
    dc.FillSolidRect(&rc, LookupColor(COLOR_BTNFACE, this));
    dc.FillSolidRect(rc.left, rc.bottom - 1, rc.right - rc.left, 1, LookupColor(COLOR_BTNSHADOW, this));
    DrawPanelItemText(dc, rc, sText, this);
}

void CExtPaintManagerOffice2003::DrawPanelBar(CDC& dc, const RECT& rc, LPCTSTR sText)
{
    if (!Visible(dc, rc))
        return;
    if (GradientsPossible(dc))
        GradientFillRect(dc, rc, LookupColor(3030, this), LookupColor(3031, this), true);
    else
        dc.FillSolidRect(&rc, LookupColor(3031, this));
    dc.FillSolidRect(rc.left, rc.bottom - 1, rc.right - rc.left, 1, LookupColor(3027, this));
    DrawPanelItemText(dc, rc, sText, this);
}

void CExtPaintManager::DrawPanelArrowGlyph(CDC& dc, const RECT& rc, int, int)
{
    if (!Visible(dc, rc))
        return;
    const COLORREF clrs[2] = {0, LookupColor(COLOR_BTNTEXT)};
    DrawGlyph(dc, rc, *g_ButtonGlyphs[3], clrs);
}

// ---- splitters ---------------------------------------------------------------------------------

void CExtPaintManager::DrawPanelSplitter(CDC& dc, const RECT& rc, bool bGripper)
{
    if (!Visible(dc, rc))
        return;
    dc.FillSolidRect(&rc, LookupColor(CLR_3DFACE_OUT, this));
    dc.FillSolidRect(rc.left, rc.top, rc.right - rc.left, 1, LookupColor(COLOR_WINDOW, this));
    dc.FillSolidRect(rc.left, rc.bottom - 1, rc.right - rc.left, 1, LookupColor(COLOR_BTNSHADOW, this));
    if (bGripper)
        DrawPanelGripperDots(dc, rc, 0);
}

void CExtPaintManagerOffice2003::DrawPanelSplitter(CDC& dc, const RECT& rc, bool bGripper)
{
    if (!Visible(dc, rc))
        return;
    if (!GradientsPossible(dc))
    {
        CExtPaintManager::DrawPanelSplitter(dc, rc, true);
        return;
    }
    GradientFillRect(dc, rc, LookupColor(3028, this), LookupColor(3029, this), true, 256);
    if (bGripper)
        DrawPanelGripperDots(dc, rc, -1);
}

void CExtPaintManager::DrawPanelGripperDots(CDC& dc, const RECT& rc, int nOffsetY)
{
    if (!Visible(dc, rc))
        return;
    const int x0 = rc.left + (rc.right - rc.left - 36) / 2;
    const int y0 = rc.top + (rc.bottom - rc.top - 2) / 2 + nOffsetY;
    const COLORREF clrLight = LookupColor(COLOR_WINDOW, this);
    const COLORREF clrDark = LookupColor(COLOR_3DDKSHADOW, this);
    for (int i = 0; i < 9; i++)
    {
        const int x = x0 + i * 4;
        dc.FillSolidRect(x + 1, y0 + 1, 2, 2, clrLight);
        dc.FillSolidRect(x, y0, 2, 2, clrDark);
    }
}

// ---- captions ------------------------------------------------------------------------------------

void CExtPaintManager::DrawPanelCaptionBackground(CDC& dc, const RECT& rc, int, int,
                                                  bool bSelected, bool bNotchLeft,
                                                  bool bNotchRight, bool bThreePart,
                                                  CObject* pHelperSrc)
{
    if (!Visible(dc, rc))
        return;
    const COLORREF clrA = LookupColor(bSelected ? CLR_MENU_SELECTED : CLR_MENU_BACKGROUND, pHelperSrc);
    const COLORREF clrB = LookupColor(bSelected ? CLR_MENU_ICON_AREA : CLR_MENU_SELECTED_DISABLED,
                                      pHelperSrc);
    const int nSaved = dc.SaveDC();
    if (bNotchLeft)
    {
        dc.ExcludeClipRect(rc.left, rc.top, rc.left + 2, rc.top + 1);
        dc.ExcludeClipRect(rc.left, rc.top + 1, rc.left + 1, rc.top + 2);
    }
    if (bNotchRight)
    {
        dc.ExcludeClipRect(rc.right - 2, rc.top, rc.right, rc.top + 1);
        dc.ExcludeClipRect(rc.right - 1, rc.top + 1, rc.right, rc.top + 2);
    }
    if (clrA == clrB)
        dc.FillSolidRect(&rc, clrA);
    else if (bThreePart && !bSelected)
        GradientFillTwoPart(dc, rc, clrA, clrA, clrB, true, 7, 15);
    else
        GradientFillRect(dc, rc, clrA, clrB, false, 256);
    dc.RestoreDC(nSaved);
}

namespace {

// The caption state of the text: bit 0 selected look, bit 1 pressed.
int CaptionTextState(bool bSelected, int nPressedState)
{
    return (bSelected ? 1 : 0) | (nPressedState != 0 ? 2 : 0);
}

}  // namespace

void CExtPaintManager::DrawPanelCaption(CDC& dc, const RECT& rc, LPCTSTR sText, bool bExpander,
                                        bool bFlag1, bool bFlag2, bool, int nPressedState,
                                        CObject* pHelperSrc)
{
    if (!Visible(dc, rc))
        return;
    DrawPanelCaptionBackground(dc, rc, 0, 0, bFlag2, false, false, false, pHelperSrc);
    RECT rcText = rc;
    if (bExpander)
    {
        RECT rcBtn;
        rcBtn.right = rc.right - 6;
        rcBtn.left = rcBtn.right - 17;
        rcBtn.top = rc.top + (rc.bottom - rc.top - 16) / 2;
        rcBtn.bottom = rcBtn.top + 16;
        if (rcBtn.left >= rc.left && rcBtn.top >= rc.top && rcBtn.bottom <= rc.bottom)
        {
            rcText.right = rcBtn.left;
            const bool bPressed = nPressedState != 0;
            int nColor = bFlag2 ? CLR_MENUTEXT_SELECTED_DISABLED : CLR_MENUTEXT_DISABLED;
            if (bPressed)
            {
                nColor++;
                dc.Draw3dRect(&rcBtn, LookupColor(COLOR_BTNSHADOW, pHelperSrc),
                              LookupColor(COLOR_BTNHIGHLIGHT, pHelperSrc));
            }
            const COLORREF clrs[2] = {0, LookupColor(nColor, pHelperSrc)};
            DrawGlyph(dc, rcBtn, bFlag1 ? g_glyphDoubleChevronUp7x8 : g_glyphDoubleChevronDown7x8,
                      clrs);
        }
    }
    DrawPanelCaptionText(dc, rcText, sText, CaptionTextState(bFlag2, nPressedState), pHelperSrc);
}

void CExtPaintManagerXP::DrawPanelCaption(CDC& dc, const RECT& rc, LPCTSTR sText, bool, bool,
                                          bool bFlag2, bool, int nPressedState,
                                          CObject* pHelperSrc)
{
    if (!Visible(dc, rc))
        return;
    dc.FillSolidRect(rc.left, rc.bottom - 1, rc.right - rc.left, 1, LookupColor(COLOR_BTNSHADOW));
    DrawPanelCaptionText(dc, rc, sText, CaptionTextState(bFlag2, nPressedState), pHelperSrc);
}

void CExtPaintManagerOffice2003::DrawPanelCaption(CDC& dc, const RECT& rc, LPCTSTR sText, bool,
                                                  bool, bool bFlag2, bool, int nPressedState,
                                                  CObject* pHelperSrc)
{
    if (!Visible(dc, rc))
        return;
    DrawPanelCaptionBackground(dc, rc, 0, 0, false, true, false, false, pHelperSrc);
    DrawPanelCaptionText(dc, rc, sText, CaptionTextState(bFlag2, nPressedState), pHelperSrc);
}

void CExtPaintManager::DrawPanelCaptionText(CDC& dc, const RECT& rc, LPCTSTR sText, int nState,
                                            CObject* pHelperSrc)
{
    if (!Visible(dc, rc))
        return;
    int nColor = (nState & 1) ? CLR_MENUTEXT_SELECTED_DISABLED : CLR_MENUTEXT_DISABLED;
    if (nState & 2)
        nColor++;
    RECT rcMargins = {0, 0, 0, 0};
    GetPanelCaptionTextMargins(rcMargins);
    RECT rcText = rc;
    rcText.left += rcMargins.left;
    rcText.top += rcMargins.top;
    rcText.right -= rcMargins.right;
    rcText.bottom -= rcMargins.bottom;
    HFONT hFont = CreatePanelCaptionFont();
    DrawCentredLine(dc, rcText, sText, hFont, LookupColor(nColor, pHelperSrc), DT_LEFT);
    if (hFont != NULL)
        ::DeleteObject(hFont);
}

// ---- metrics and the caption font -----------------------------------------------------------------

int CExtPaintManagerXP::GetPanelCaptionHeight() { return 18; }
void CExtPaintManagerXP::GetPanelCaptionTextMargins(RECT& rcMargins) { ::SetRect(&rcMargins, 0, 0, 2, 0); }
void CExtPaintManagerOffice2003::GetPanelMargins(RECT& rcMargins) { ::SetRect(&rcMargins, 5, 9, 0, 7); }
void CExtPaintManagerOffice2003::GetPanelCaptionTextMargins(RECT& rcMargins) { ::SetRect(&rcMargins, 10, 0, 2, 0); }

HFONT CExtPaintManager::CreatePanelCaptionFont()
{
    HFONT hFont = CreateIconTitleFont([](LOGFONT& lf) { lf.lfWeight = FW_BOLD; });
    if (hFont != NULL)
        return hFont;
    LOGFONT lf;
    ::memset(&lf, 0, sizeof(lf));
    if (m_FontNormal.GetSafeHandle() == NULL || ::GetObject(m_FontNormal.GetSafeHandle(), sizeof(lf), &lf) == 0)
        return NULL;
    lf.lfWeight = FW_BOLD;
    return ::CreateFontIndirect(&lf);
}

HFONT CExtPaintManagerOffice2003::CreatePanelCaptionFont()
{
    HFONT hFont = CreateIconTitleFont([](LOGFONT& lf) {
        ::lstrcpyn(lf.lfFaceName, _T("Tahoma"), LF_FACESIZE);
        lf.lfHeight = 18;
        lf.lfWeight = FW_BOLD;
    });
    if (hFont != NULL)
        return hFont;
    LOGFONT lf;
    ::memset(&lf, 0, sizeof(lf));
    if (m_FontNormal.GetSafeHandle() == NULL || ::GetObject(m_FontNormal.GetSafeHandle(), sizeof(lf), &lf) == 0)
        return NULL;
    return ::CreateFontIndirect(&lf);
}
