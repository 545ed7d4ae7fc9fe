#include "toolkit/dialogs/label.h"
#include "toolkit/dialogs/control_font.h"
#include "toolkit/dialogs/memory_dc.h"
#include "toolkit/core/cmd_icon.h"

IMPLEMENT_DYNCREATE(CExtLabel, CStatic)

CExtLabel::CExtLabel()
    : m_nFontFlags(0), m_clrText(COLORREF(-1L)), m_clrTextDisabled(COLORREF(-1L)), m_clrBackground(COLORREF(-1L))
{
    RegisterWithHolder();
}

CExtLabel::~CExtLabel() { UnregisterFromHolder(); }

void CExtLabel::RegisterWithHolder() { g_CurrentPaintManager.RegisterBridge(this); }
void CExtLabel::UnregisterFromHolder() { g_CurrentPaintManager.UnregisterBridge(this); }
HWND CExtLabel::GetBridgeHwnd() { return m_hWnd; }
CExtPaintManager* CExtLabel::GetPaintManager() { return g_CurrentPaintManager.GetPM(); }

COLORREF CExtLabel::GetLabelTextColor(bool bEnabled)
{
    COLORREF clr = bEnabled ? m_clrText : m_clrTextDisabled;
    if (clr != COLORREF(-1L))
        return clr;
    CExtPaintManager* pPM = GetPaintManager();
    int nSys = bEnabled ? COLOR_BTNTEXT : COLOR_BTNSHADOW;
    return pPM != NULL ? pPM->LookupColor(nSys, this) : ::GetSysColor(nSys);
}

void CExtLabel::DrawLabelText(CDC& dc, const RECT& rc, LPCTSTR sText, UINT nDrawTextFlags, bool bEnabled)
{
    HFONT hFont = QueryControlFont(m_hWnd);
    LOGFONT lf;
    ::memset(&lf, 0, sizeof(lf));
    ::GetObject(hFont, sizeof(lf), &lf);
    if ((m_nFontFlags & FONT_BOLD) != 0 && lf.lfWeight <= FW_BOLD)
        lf.lfWeight = FW_BOLD;
    if ((m_nFontFlags & FONT_ITALIC) != 0)
        lf.lfItalic = TRUE;
    if ((m_nFontFlags & FONT_UNDERLINE) != 0)
        lf.lfUnderline = TRUE;
    if ((m_nFontFlags & FONT_STRIKEOUT) != 0)
        lf.lfStrikeOut = TRUE;
    HFONT hOwn = ::CreateFontIndirect(&lf);
    HGDIOBJ hOldFont = ::SelectObject(dc.m_hDC, hOwn != NULL ? hOwn : hFont);
    int nOldMode = ::SetBkMode(dc.m_hDC, TRANSPARENT);
    COLORREF clrOld = ::SetTextColor(dc.m_hDC, GetLabelTextColor(bEnabled));
    RECT rcText = rc;
    ::DrawText(dc.m_hDC, sText, -1, &rcText, nDrawTextFlags);
    ::SetTextColor(dc.m_hDC, clrOld);
    ::SetBkMode(dc.m_hDC, nOldMode);
    ::SelectObject(dc.m_hDC, hOldFont);
    if (hOwn != NULL)
        ::DeleteObject(hOwn);
}

bool CExtLabel::PaintsItself()
{
    switch (::GetWindowLong(m_hWnd, GWL_STYLE) & 0x1F)
    {
    case SS_BLACKRECT: case SS_GRAYRECT: case SS_WHITERECT: case SS_BLACKFRAME:
    case SS_GRAYFRAME: case SS_WHITEFRAME: case SS_USERITEM: case SS_OWNERDRAW:
    case SS_BITMAP: case SS_ENHMETAFILE: case SS_ETCHEDHORZ: case SS_ETCHEDVERT:
    case SS_ETCHEDFRAME:
        return false;
    }
    return true;
}

UINT CExtLabel::GetTextDrawFlags(const CString& sText)
{
    DWORD dwStyle = (DWORD)::GetWindowLong(m_hWnd, GWL_STYLE);
    UINT nFlags;
    switch (dwStyle & 0x1F)
    {
    case SS_CENTER: nFlags = DT_CENTER | DT_WORDBREAK; break;
    case SS_RIGHT: nFlags = DT_RIGHT | DT_WORDBREAK; break;
    case SS_LEFTNOWORDWRAP: nFlags = DT_LEFT; break;
    default: nFlags = DT_WORDBREAK; break;
    }
    if (sText.Find(_T('\t')) >= 0)
        nFlags |= DT_EXPANDTABS;
    if ((dwStyle & SS_CENTERIMAGE) != 0 && sText.Find(_T("\r\n")) < 0)
        nFlags |= DT_SINGLELINE | DT_VCENTER;
    nFlags |= DT_END_ELLIPSIS | DT_VCENTER;
    return nFlags;
}

void CExtLabel::RenderLabel(CDC& dc)
{
    CExtPaintManager* pPM = GetPaintManager();
    if (pPM == NULL || m_hWnd == NULL)
        return;
    CRect rc;
    ::GetClientRect(m_hWnd, &rc);
    bool bDone = false;
    if (pPM->UsesParentBackground(this) && m_clrBackground == COLORREF(-1L))
    {
        CExtPaintManager::ClipOutChildren(&dc, m_hWnd);
        bDone = pPM->DrawWindowBackground(true, dc, this);
    }
    if (!bDone)
        dc.FillSolidRect(&rc, m_clrBackground != COLORREF(-1L) ? m_clrBackground : pPM->LookupColor(1000, this));
    DWORD dwStyle = (DWORD)::GetWindowLong(m_hWnd, GWL_STYLE);
    if ((dwStyle & 0x1F) == SS_ICON)
    {
        HICON hIcon = (HICON)::SendMessage(m_hWnd, STM_GETICON, 0, 0);
        if (hIcon == NULL)
            return;
        CExtCmdIcon icon;
        icon.AssignFromHICON(hIcon, true);
        CSize sz = icon.GetSize();
        int x = rc.left, y = rc.top;
        if ((dwStyle & SS_CENTERIMAGE) != 0)
        {
            x = (rc.Width() - sz.cx) / 2;
            y = (rc.Height() - sz.cy) / 2;
        }
        icon.Paint(pPM, dc.m_hDC, x, y, sz.cx, sz.cy);
        return;
    }
    CString sText;
    GetWindowText(sText);
    if (sText.IsEmpty())
        return;
    DrawLabelText(dc, rc, sText, GetTextDrawFlags(sText), ::IsWindowEnabled(m_hWnd) != FALSE);
}

LRESULT CExtLabel::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message)
    {
    case WM_UPDATEUISTATE:
        return 0;
    case WM_SETTEXT:
    case WM_ENABLE:
    {
        LRESULT lr = CStatic::WindowProc(message, wParam, lParam);
        if (m_hWnd != NULL && ::IsWindow(m_hWnd))
        {
            ::InvalidateRect(m_hWnd, NULL, TRUE);
            ::UpdateWindow(m_hWnd);
        }
        return lr;
    }
    case WM_ERASEBKGND:
        if (PaintsItself())
            return TRUE;
        break;
    case WM_PRINTCLIENT:
        if (PaintsItself())
        {
            CRect rc;
            ::GetClientRect(m_hWnd, &rc);
            CExtMemoryDC dcMem(CDC::FromHandle((HDC)wParam), &rc,
                               CExtMemoryDC::MDCOPT_TO_MEMORY | CExtMemoryDC::MDCOPT_FILL_SURFACE);
            RenderLabel(dcMem);
            return 0;
        }
        break;
    case WM_PAINT:
        if (PaintsItself())
        {
            PAINTSTRUCT ps;
            HDC hdc = ::BeginPaint(m_hWnd, &ps);
            CRect rc, rcClip;
            ::GetClientRect(m_hWnd, &rc);
            if (hdc != NULL && ::GetClipBox(hdc, &rcClip) != NULLREGION && rcClip.IntersectRect(&rcClip, &rc))
            {
                CDC* pDC = CDC::FromHandle(hdc);
                CExtMemoryDC dcMem(pDC, &rc, CExtMemoryDC::MDCOPT_TO_MEMORY | CExtMemoryDC::MDCOPT_FILL_SURFACE);
                ::IntersectClipRect(dcMem.m_hDC, rc.left, rc.top, rc.right, rc.bottom);
                RenderLabel(dcMem);
            }
            ::EndPaint(m_hWnd, &ps);
            return 0;
        }
        break;
    }
    return CStatic::WindowProc(message, wParam, lParam);
}
