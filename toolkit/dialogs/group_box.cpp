#include "toolkit/dialogs/group_box.h"
#include "toolkit/dialogs/control_font.h"
#include "toolkit/dialogs/memory_dc.h"

IMPLEMENT_DYNCREATE(CExtGroupBox, CButton)

CExtGroupBox::CExtGroupBox()
    : m_nCaptionAlign(ALIGN_FROM_STYLE),
      m_nFrameStyle(STYLE_THEMED),
      m_nCaptionBarHeight(18),
      m_clrBackground(COLORREF(-1L)),
      m_clrText(COLORREF(-1L)),
      m_clrTextDisabled(COLORREF(-1L))
{
    RegisterWithHolder();
}

CExtGroupBox::~CExtGroupBox() { UnregisterFromHolder(); }

void CExtGroupBox::RegisterWithHolder() { g_CurrentPaintManager.RegisterBridge(this); }
void CExtGroupBox::UnregisterFromHolder() { g_CurrentPaintManager.UnregisterBridge(this); }
HWND CExtGroupBox::GetBridgeHwnd() { return m_hWnd; }
CExtPaintManager* CExtGroupBox::GetPaintManager() { return g_CurrentPaintManager.GetPM(); }

void CExtGroupBox::PreSubclassWindow()
{
    CButton::PreSubclassWindow();
    ::SetWindowLong(m_hWnd, GWL_STYLE, ::GetWindowLong(m_hWnd, GWL_STYLE) | WS_CLIPSIBLINGS | WS_CLIPCHILDREN);
}

void CExtGroupBox::SetStyle(int nStyle)
{
    m_nFrameStyle = nStyle;
    if (m_hWnd != NULL && ::IsWindow(m_hWnd))
        ::InvalidateRect(m_hWnd, NULL, TRUE);
}

HFONT CExtGroupBox::OnQueryFont()
{
    return QueryControlFont(m_hWnd);
}

COLORREF CExtGroupBox::SysColor(int nIndex)
{
    CExtPaintManager* pPM = GetPaintManager();
    return pPM != NULL ? pPM->LookupColor(nIndex, this) : ::GetSysColor(nIndex);
}

COLORREF CExtGroupBox::GetCaptionTextColor(bool bEnabled)
{
    COLORREF clr = bEnabled ? m_clrText : m_clrTextDisabled;
    if (clr != COLORREF(-1L))
        return clr;
    return SysColor(bEnabled ? COLOR_BTNTEXT : COLOR_BTNSHADOW);
}

int CExtGroupBox::GetResolvedCaptionAlign()
{
    if (m_nCaptionAlign != ALIGN_FROM_STYLE)
        return m_nCaptionAlign;
    DWORD dwAlign = (DWORD)::GetWindowLong(m_hWnd, GWL_STYLE) & BS_CENTER;
    if (dwAlign == BS_RIGHT)
        return ALIGN_RIGHT;
    if (dwAlign == BS_CENTER)
        return ALIGN_CENTER;
    return ALIGN_LEFT;
}

void CExtGroupBox::DrawCaption(CDC& dc, const RECT& rcCaption, LPCTSTR sText, UINT nDrawTextFlags, bool bEnabled)
{
    CExtPaintManager* pPM = GetPaintManager();
    if (pPM != NULL)
        pPM->DrawGroupBoxCaption(dc, sText, GetCaptionTextColor(bEnabled), OnQueryFont(), nDrawTextFlags, bEnabled,
                                 rcCaption, this);
}

void CExtGroupBox::DrawCaptionBarText(CDC& dc, const CRect& rcClient)
{
    CString sText;
    GetWindowText(sText);
    if (sText.IsEmpty())
        return;
    UINT nFlags = DT_LEFT;
    switch (GetResolvedCaptionAlign())
    {
    case ALIGN_RIGHT: nFlags = DT_RIGHT; break;
    case ALIGN_CENTER: nFlags = DT_CENTER; break;
    }
    if (sText.Find(_T('\t')) >= 0)
        nFlags |= DT_EXPANDTABS;
    nFlags |= DT_END_ELLIPSIS | DT_VCENTER;
    LOGFONT lf;
    ::memset(&lf, 0, sizeof(lf));
    ::GetObject(OnQueryFont(), sizeof(lf), &lf);
    lf.lfWeight = FW_BOLD;
    HFONT hBold = ::CreateFontIndirect(&lf);
    HGDIOBJ hOldFont = ::SelectObject(dc.m_hDC, hBold != NULL ? hBold : OnQueryFont());
    int nOldMode = dc.SetBkMode(TRANSPARENT);
    COLORREF clrOld = dc.SetTextColor(m_clrText != COLORREF(-1L) ? m_clrText : SysColor(COLOR_WINDOW));
    CRect rcMeasure(0, 0, 0, 0);
    dc.DrawText(sText, &rcMeasure, DT_CALCRECT | DT_SINGLELINE);
    CRect rcText(5, (m_nCaptionBarHeight - rcMeasure.Height()) / 2, rcClient.right - 4, 0);
    rcText.bottom = rcText.top + rcMeasure.Height();
    dc.DrawText(sText, &rcText, nFlags);
    dc.SetTextColor(clrOld);
    dc.SetBkMode(nOldMode);
    ::SelectObject(dc.m_hDC, hOldFont);
    if (hBold != NULL)
        ::DeleteObject(hBold);
}

void CExtGroupBox::DrawFrame(CDC& dc, const RECT& rcFrame)
{
    CExtPaintManager* pPM = GetPaintManager();
    CRect rc(rcFrame);
    COLORREF clrShadow = SysColor(COLOR_BTNSHADOW);
    switch (m_nFrameStyle)
    {
    case STYLE_THEMED:
        if (pPM != NULL)
            pPM->DrawGroupBoxFrame(dc, rc, this);
        break;
    case STYLE_ETCHED:
    {
        COLORREF clrLight = SysColor(COLOR_WINDOW);
        dc.Draw3dRect(&rc, clrShadow, clrLight);
        rc.DeflateRect(1, 1);
        dc.Draw3dRect(&rc, clrLight, clrShadow);
        break;
    }
    case STYLE_ROUNDED:
    {
        HPEN hPen = ::CreatePen(PS_SOLID, 1, clrShadow);
        HGDIOBJ hOldPen = ::SelectObject(dc.m_hDC, hPen);
        HGDIOBJ hOldBrush = ::SelectObject(dc.m_hDC, ::GetStockObject(NULL_BRUSH));
        ::RoundRect(dc.m_hDC, rc.left, rc.top, rc.right, rc.bottom, 10, 10);
        ::SelectObject(dc.m_hDC, hOldBrush);
        ::SelectObject(dc.m_hDC, hOldPen);
        ::DeleteObject(hPen);
        break;
    }
    case STYLE_FLAT:
        dc.Draw3dRect(&rc, clrShadow, clrShadow);
        break;
    case STYLE_CAPTION_BAR:
    {
        CRect rcClient;
        ::GetClientRect(m_hWnd, &rcClient);
        dc.Draw3dRect(&rcClient, clrShadow, clrShadow);
        CRect rcBand(rcClient);
        rcBand.bottom = rcBand.top + m_nCaptionBarHeight;
        dc.FillSolidRect(&rcBand, clrShadow);
        DrawCaptionBarText(dc, rcClient);
        break;
    }
    }
}

void CExtGroupBox::ClipOutEarlierSiblings(CDC& dc)
{
    HWND hWndParent = ::GetParent(m_hWnd);
    if (hWndParent == NULL)
        return;
    CRect rcClient;
    ::GetClientRect(m_hWnd, &rcClient);
    for (HWND hWnd = ::GetWindow(hWndParent, GW_CHILD); hWnd != NULL && hWnd != m_hWnd;
         hWnd = ::GetWindow(hWnd, GW_HWNDNEXT))
    {
        if (!::IsWindowVisible(hWnd))
            continue;
        CRect rc;
        ::GetWindowRect(hWnd, &rc);
        ::ScreenToClient(m_hWnd, (LPPOINT)&rc.left);
        ::ScreenToClient(m_hWnd, (LPPOINT)&rc.right);
        CRect rcMeet;
        if (rcMeet.IntersectRect(&rc, &rcClient))
            dc.ExcludeClipRect(&rcMeet);
    }
}

void CExtGroupBox::PaintBackground(CDC& dc, const CRect& rcClient)
{
    CExtPaintManager* pPM = GetPaintManager();
    if (pPM == NULL)
        return;
    bool bDone = false;
    if (pPM->UsesParentBackground(this) && m_clrBackground == COLORREF(-1L))
    {
        CExtPaintManager::ClipOutChildren(&dc, m_hWnd);
        bDone = pPM->DrawWindowBackground(true, dc, this);
    }
    if (!bDone)
        dc.FillSolidRect(&rcClient, m_clrBackground != COLORREF(-1L) ? m_clrBackground : pPM->LookupColor(1000, this));
}

void CExtGroupBox::RenderGroupBox(CDC& dc)
{
    CRect rcClient;
    ::GetClientRect(m_hWnd, &rcClient);
    ClipOutEarlierSiblings(dc);
    PaintBackground(dc, rcClient);
    int nOldMode = dc.SetBkMode(TRANSPARENT);
    CString sText;
    GetWindowText(sText);
    UINT nFlags = DT_END_ELLIPSIS | DT_VCENTER;
    if (sText.Find(_T('\t')) >= 0)
        nFlags |= DT_EXPANDTABS;
    CRect rcFrame(rcClient), rcCaption;
    bool bCaption = !sText.IsEmpty() && m_nFrameStyle != STYLE_CAPTION_BAR;
    if (bCaption)
    {
        rcCaption.SetRect(9, 0, rcClient.right - 9, rcClient.bottom);
        CRect rcText(0, 0, 0, 0);
        CExtPaintManager::MeasureText(rcText, dc, CFont::FromHandle(OnQueryFont()), sText,
                                      DT_CALCRECT | DT_SINGLELINE);
        int w = rcText.Width(), h = rcText.Height();
        switch (GetResolvedCaptionAlign())
        {
        case ALIGN_LEFT: rcCaption.right = rcCaption.left + w; break;
        case ALIGN_RIGHT: rcCaption.left = rcCaption.right - w; break;
        case ALIGN_CENTER:
            rcCaption.left = (rcClient.right - 18 - w) / 2;
            rcCaption.right = rcCaption.left + w;
            break;
        }
        rcFrame.top += h / 2;
        rcCaption.bottom = h;
        dc.ExcludeClipRect(rcCaption.left - 2, 0, rcCaption.right + 2, h);
    }
    else
        rcFrame.top += 6;
    DrawFrame(dc, rcFrame);
    if (bCaption)
    {
        ::SelectClipRgn(dc.m_hDC, NULL);
        DrawCaption(dc, rcCaption, sText, nFlags, ::IsWindowEnabled(m_hWnd) != FALSE);
    }
    dc.SetBkMode(nOldMode);
}

LRESULT CExtGroupBox::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message)
    {
    case WM_UPDATEUISTATE:
        return 0;
    case WM_SETTEXT:
    case WM_ENABLE:
    {
        LRESULT lr = CButton::WindowProc(message, wParam, lParam);
        if (m_hWnd != NULL && ::IsWindow(m_hWnd))
        {
            ::InvalidateRect(m_hWnd, NULL, TRUE);
            ::UpdateWindow(m_hWnd);
        }
        return lr;
    }
    case WM_ERASEBKGND:
        return 0;
    case WM_PRINTCLIENT:
    {
        CRect rc;
        ::GetClientRect(m_hWnd, &rc);
        CExtMemoryDC dcMem(CDC::FromHandle((HDC)wParam), &rc,
                           CExtMemoryDC::MDCOPT_TO_MEMORY | CExtMemoryDC::MDCOPT_FILL_SURFACE);
        RenderGroupBox(dcMem);
        return 0;
    }
    case WM_PAINT:
    {
        PAINTSTRUCT ps;
        HDC hdc = ::BeginPaint(m_hWnd, &ps);
        if (hdc != NULL)
        {
            CRect rc;
            ::GetClientRect(m_hWnd, &rc);
            CExtMemoryDC dcMem(CDC::FromHandle(hdc), &rc,
                               CExtMemoryDC::MDCOPT_TO_MEMORY | CExtMemoryDC::MDCOPT_FILL_SURFACE);
            RenderGroupBox(dcMem);
        }
        ::EndPaint(m_hWnd, &ps);
        return 0;
    }
    }
    return CButton::WindowProc(message, wParam, lParam);
}
