// The shared tooltip window: layout of the balloon and rectangle looks, placement inside
// the work area, the delayed and quick shows, the watchers that hide it, and painting.
#include "toolkit/menus/popup_menu_tip_wnd.h"

#include "toolkit/menus/popup_menu_wnd.h"
#include "toolkit/menus/popup_tracking_site.h"

#include <algorithm>
#include <string.h>

IMPLEMENT_DYNCREATE(CExtPopupMenuTipWnd, CExtPopupBaseWnd)

namespace {

// The information symbol: a 16 x 16, 32-bit BMP file image (file header, info header,
// bottom-up pixels) made once; a blue disc with a white "i".
const BYTE* InfoIconFileImage()
{
    static BYTE image[14 + 40 + 16 * 16 * 4];
    static bool bMade = false;
    if (bMade)
        return image;
    bMade = true;
    memset(image, 0, sizeof(image));
    BITMAPFILEHEADER bfh = {};
    bfh.bfType = 0x4D42;
    bfh.bfSize = sizeof(image);
    bfh.bfOffBits = 14 + 40;
    memcpy(image, &bfh, 14);
    BITMAPINFOHEADER bih = {};
    bih.biSize = 40;
    bih.biWidth = 16;
    bih.biHeight = 16;
    bih.biPlanes = 1;
    bih.biBitCount = 32;
    bih.biCompression = BI_RGB;
    memcpy(image + 14, &bih, 40);
    DWORD* pBits = (DWORD*)(image + 54);
    for (int y = 0; y < 16; y++)
        for (int x = 0; x < 16; x++)
        {
            const int dx = 2 * x - 15, dy = 2 * y - 15;  // twice the distance from the centre
            DWORD clr = 0x00FF00FF;                       // transparent magenta outside the disc
            if (dx * dx + dy * dy <= 15 * 15)
                clr = 0x002050C0;
            const int yTop = 15 - y;  // rows are stored bottom-up
            if ((x == 7 || x == 8) && ((yTop >= 3 && yTop <= 4) || (yTop >= 6 && yTop <= 12)))
                clr = 0x00FFFFFF;
            pBits[y * 16 + x] = clr;
        }
    return image;
}

}  // namespace

BEGIN_MESSAGE_MAP(CExtPopupMenuTipWnd, CExtPopupBaseWnd)
    ON_WM_TIMER()
    ON_WM_ACTIVATEAPP()
END_MESSAGE_MAP()

CExtPopupMenuTipWnd::CExtPopupMenuTipWnd()
    : m_sizeIcon(16, 16), m_nRectMarginX(3), m_nRectMarginY(2), m_nBalloonEllipseX(12), m_nBalloonEllipseY(10),
      m_nStemWidth(25), m_nStemHeight(25), m_nIconGap(5), m_nBalloonOffset(12), m_nDistanceBelow(13),
      m_nShadowSize(-1), m_nFlipFlags(0), m_nTipStyle(__ETS_BALLOON), m_nLastQuickShow(0)
{
    m_nAnimFlags |= __PBW_ANIM_DONE;
    m_nAnimationKind = __AT_NONE;
    const BYTE* pFile = InfoIconFileImage();
    const BITMAPINFO* pbi = (const BITMAPINFO*)(pFile + 14);
    HDC hDC = ::GetDC(NULL);
    HBITMAP hBmp = ::CreateDIBitmap(hDC, &pbi->bmiHeader, CBM_INIT, pFile + ((const BITMAPFILEHEADER*)pFile)->bfOffBits,
                                    pbi, DIB_RGB_COLORS);
    ::ReleaseDC(NULL, hDC);
    if (hBmp != NULL)
    {
        m_icon.AssignFromHBITMAP(hBmp, RGB(255, 0, 255));
        ::DeleteObject(hBmp);
    }
}

CExtPopupMenuTipWnd::~CExtPopupMenuTipWnd() { m_shadowTip.Reset(); }

void CExtPopupMenuTipWnd::SetText(LPCTSTR sText)
{
    m_sText = (sText != NULL) ? sText : _T("");
    m_sText.TrimLeft();
    m_sText.TrimRight();
}

void CExtPopupMenuTipWnd::SetAppearanceValue(int nShadowSize)
{
    if (nShadowSize == m_nShadowSize)
        return;
    m_shadowTip.Reset();
    m_nShadowSize = nShadowSize;
}

int CExtPopupMenuTipWnd::GetShadowSize()
{
    if (m_nShadowSize >= 0)
        return m_nShadowSize;
    CExtPaintManager* pPM = GetPaintManager();
    return (pPM != NULL) ? pPM->GetTipShadowSize() : 3;
}

CRect CExtPopupMenuTipWnd::GetBounds() const
{
    CExtPaintManager::MONITORDATA md;
    CPoint ptCentre = CRect(m_rcWndArea).CenterPoint();
    CExtPaintManager::MonitorDataFromPoint(md, ptCentre);
    return CExtPopupMenuWnd::g_bUseWorkArea ? CRect(md.m_rcWorkArea) : CRect(md.m_rcMonitor);
}

void CExtPopupMenuTipWnd::Hide()
{
    HWND hWnd = GetSafeHwnd();
    if (hWnd != NULL && ::IsWindow(hWnd))
    {
        ::KillTimer(hWnd, ID_TIMER_DELAY_SHOW);
        ::KillTimer(hWnd, ID_TIMER_TIP_DELAY);
        ::KillTimer(hWnd, ID_TIMER_TIP_IGNORED);
        ::SetWindowPos(hWnd, NULL, 0, 0, 0, 0,
                       SWP_HIDEWINDOW | SWP_NOACTIVATE | SWP_NOZORDER | SWP_NOMOVE | SWP_NOSIZE | SWP_NOOWNERZORDER |
                           SWP_NOSENDCHANGING | SWP_NOCOPYBITS);
    }
    m_rcWndArea.SetRectEmpty();
    m_shadow.Reset();
    m_shadowTip.Reset();
}

HRGN CExtPopupMenuTipWnd::CalcLayout(CDC& dc, SIZE& sizeTip)
{
    m_nFlipFlags = 0;
    CExtPaintManager* pPM = GetPaintManager();
    CFont* pOldFont = (pPM != NULL) ? dc.SelectObject(&pPM->m_FontNormal) : NULL;
    CRect rcText(0, 0, 0, 0);
    dc.DrawText(m_sText.IsEmpty() ? CString(_T(" ")) : m_sText, &rcText, DT_SINGLELINE | DT_CALCRECT | DT_NOPREFIX);
    if (pOldFont != NULL)
        dc.SelectObject(pOldFont);
    const bool bIcon = HasIcon() && !m_icon.IsEmpty();
    const CRect rcBounds = GetBounds();
    const CPoint ptAnchor(m_rcWndArea.left + m_nBalloonOffset / 2, m_rcWndArea.top + m_nBalloonOffset / 2);
    if (IsBalloon())
    {
        int cx = rcText.Width() + 2 * m_nBalloonEllipseX;
        if (bIcon)
            cx += m_sizeIcon.cx + m_nIconGap;
        const int cyBody = std::max((int)rcText.Height(), bIcon ? (int)m_sizeIcon.cy : 0) + 2 * m_nBalloonEllipseY;
        sizeTip.cx = cx;
        sizeTip.cy = cyBody + m_nStemHeight;
        // The body lies above its stem unless that passes the top bound; the stem sits at
        // the leading end unless the body would pass the right bound.
        if (ptAnchor.y - sizeTip.cy < rcBounds.top)
            m_nFlipFlags |= __FLIP_VERT;
        if (ptAnchor.x - m_nBalloonOffset + sizeTip.cx > rcBounds.right)
            m_nFlipFlags |= __FLIP_HORZ;
        const int yBody = (m_nFlipFlags & __FLIP_VERT) ? m_nStemHeight : 0;
        HRGN hRgn = ::CreateRoundRectRgn(0, yBody, cx + 1, yBody + cyBody + 1, m_nBalloonEllipseX, m_nBalloonEllipseY);
        // The stem: a triangle from the body's edge to the anchor corner of the window.
        const int xBase = (m_nFlipFlags & __FLIP_HORZ) ? cx - m_nBalloonOffset - m_nStemWidth : m_nBalloonOffset;
        const int xTip = (m_nFlipFlags & __FLIP_HORZ) ? cx - m_nBalloonOffset : m_nBalloonOffset;
        POINT pts[3];
        if (m_nFlipFlags & __FLIP_VERT)
        {
            pts[0] = {xBase, m_nStemHeight + 1};
            pts[1] = {xBase + m_nStemWidth, m_nStemHeight + 1};
            pts[2] = {xTip, 0};
        }
        else
        {
            pts[0] = {xBase, cyBody - 1};
            pts[1] = {xBase + m_nStemWidth, cyBody - 1};
            pts[2] = {xTip, sizeTip.cy};
        }
        HRGN hStem = ::CreatePolygonRgn(pts, 3, WINDING);
        if (hRgn != NULL && hStem != NULL)
            ::CombineRgn(hRgn, hRgn, hStem, RGN_OR);
        if (hStem != NULL)
            ::DeleteObject(hStem);
        return hRgn;
    }
    const int S = std::max(0, GetShadowSize());
    int cx = rcText.Width() + 2 * m_nRectMarginX + S;
    if (bIcon)
        cx += m_sizeIcon.cx + m_nIconGap;
    int cy = rcText.Height() + 2 * m_nRectMarginY;
    if (bIcon)
        cy = std::max(cy, (int)m_sizeIcon.cy);
    cy += S;
    sizeTip.cx = cx;
    sizeTip.cy = cy;
    const CPoint ptCentre = CRect(m_rcWndArea).CenterPoint();
    if (ptCentre.x + cx / 2 > rcBounds.right)
        m_nFlipFlags |= __FLIP_HORZ;
    if (m_nTipStyle == __ETS_RECTANGLE || m_nTipStyle == __ETS_RECTANGLE_NO_ICON)
    {
        if (m_rcWndArea.top - cy - 3 < rcBounds.top)
            m_nFlipFlags |= __FLIP_VERT;
    }
    else if (m_rcWndArea.bottom + m_nDistanceBelow + cy > rcBounds.bottom)
        m_nFlipFlags |= __FLIP_VERT;
    return ::CreateRectRgn(0, 0, cx, cy);
}

bool CExtPopupMenuTipWnd::Show(CWnd* pWndOwner, const RECT& rcArea)
{
    if (m_nTipStyle < __ETS_BALLOON || m_nTipStyle > __ETS_INV_RECTANGLE_NO_ICON)
    {
        Hide();
        return false;
    }
    CRect rcNorm(rcArea);
    rcNorm.NormalizeRect();
    HWND hWndOwner = (pWndOwner != NULL) ? pWndOwner->GetSafeHwnd() : NULL;
    bool bQuick = false;
    if (GetSafeHwnd() != NULL && ::IsWindow(m_hWnd))
    {
        if (rcNorm == m_rcWndArea)
            return true;
        const bool bWasVisible = IsWindowVisible() != FALSE;
        Hide();
        const time_t tNow = time(NULL);
        if (bWasVisible || (m_nLastQuickShow != 0 && tNow - m_nLastQuickShow < 2))
        {
            bQuick = true;
            m_nLastQuickShow = tNow;
        }
        if (::GetWindow(m_hWnd, GW_OWNER) != hWndOwner)
            DestroyWindow();
    }
    if (GetSafeHwnd() == NULL)
    {
        const CString sClass = AfxRegisterWndClass(0, ::LoadCursor(NULL, IDC_ARROW), NULL, NULL);
        if (!CreateEx(WS_EX_TOPMOST, sClass, _T(""), WS_POPUP, 0, 0, 1, 1, hWndOwner, 0))
            return false;
    }
    m_rcWndArea = rcNorm;
    const CRect rcBounds = GetBounds();
    CClientDC dc(this);
    CSize sizeTip(0, 0);
    HRGN hRgn = CalcLayout(dc, sizeTip);
    CRect rcTip;
    if (IsBalloon())
    {
        const CPoint ptAnchor(rcNorm.left + m_nBalloonOffset / 2, rcNorm.top + m_nBalloonOffset / 2);
        const int x = (m_nFlipFlags & __FLIP_HORZ) ? ptAnchor.x - sizeTip.cx + m_nBalloonOffset
                                                   : ptAnchor.x - m_nBalloonOffset;
        const int y = (m_nFlipFlags & __FLIP_VERT) ? ptAnchor.y : ptAnchor.y - sizeTip.cy;
        rcTip.SetRect(x, y, x + sizeTip.cx, y + sizeTip.cy);
        ::SetWindowRgn(m_hWnd, hRgn, FALSE);
    }
    else
    {
        if (hRgn != NULL)
            ::DeleteObject(hRgn);
        ::SetWindowRgn(m_hWnd, NULL, FALSE);
        int x = rcNorm.CenterPoint().x - sizeTip.cx / 2;
        if (IsLayoutRTL())
            x = rcNorm.CenterPoint().x - (sizeTip.cx - sizeTip.cx / 2);
        int y;
        if (m_nTipStyle == __ETS_RECTANGLE || m_nTipStyle == __ETS_RECTANGLE_NO_ICON)
            y = (m_nFlipFlags & __FLIP_VERT) ? rcNorm.bottom + m_nDistanceBelow : rcNorm.top - sizeTip.cy - 3;
        else
        {
            CPoint ptCursor;
            y = rcNorm.bottom + m_nDistanceBelow;
            if (::GetCursorPos(&ptCursor) && rcNorm.PtInRect(ptCursor))
                y = ptCursor.y + 16;
            if (m_nFlipFlags & __FLIP_VERT)
                y = rcNorm.top - m_nDistanceBelow - sizeTip.cy;
        }
        rcTip.SetRect(x, y, x + sizeTip.cx, y + sizeTip.cy);
        if (rcTip.right > rcBounds.right)
            rcTip.OffsetRect(rcBounds.right - rcTip.right, 0);
        if (rcTip.bottom > rcBounds.bottom)
            rcTip.OffsetRect(0, rcBounds.bottom - rcTip.bottom);
        if (rcTip.left < rcBounds.left)
            rcTip.OffsetRect(rcBounds.left - rcTip.left, 0);
        if (rcTip.top < rcBounds.top)
            rcTip.OffsetRect(0, rcBounds.top - rcTip.top);
    }
    ::SetWindowPos(m_hWnd, HWND_TOPMOST, rcTip.left, rcTip.top, rcTip.Width(), rcTip.Height(),
                   SWP_NOACTIVATE | SWP_NOOWNERZORDER);
    ::SetTimer(m_hWnd, ID_TIMER_DELAY_SHOW, bQuick ? ID_PERIOD_QUICK_SHOW : ID_PERIOD_SHOW, NULL);
    ::SetTimer(m_hWnd, ID_TIMER_TIP_DELAY, ID_PERIOD_WATCH, NULL);
    ::SetTimer(m_hWnd, ID_TIMER_TIP_IGNORED, ID_PERIOD_WATCH, NULL);
    return true;
}

void CExtPopupMenuTipWnd::OnTimer(UINT_PTR nIDEvent)
{
    switch (nIDEvent)
    {
    case ID_TIMER_DELAY_SHOW:
        ::KillTimer(m_hWnd, ID_TIMER_DELAY_SHOW);
        // The time of every real showing: a tip for the next area within 2 seconds comes
        // after the short delay.
        m_nLastQuickShow = time(NULL);
        if (!IsBalloon() && GetShadowSize() > 0)
        {
            CRect rcBody;
            GetWindowRect(&rcBody);
            rcBody.right -= GetShadowSize();
            rcBody.bottom -= GetShadowSize();
            m_shadowTip.Reset();
            m_shadowTip.CaptureFromScreen(rcBody, GetShadowSize());
        }
        ::SetWindowPos(m_hWnd, NULL, 0, 0, 0, 0,
                       SWP_SHOWWINDOW | SWP_NOACTIVATE | SWP_NOZORDER | SWP_NOMOVE | SWP_NOSIZE | SWP_NOOWNERZORDER |
                           SWP_NOSENDCHANGING | SWP_NOCOPYBITS);
        ::InvalidateRect(m_hWnd, NULL, TRUE);
        ::UpdateWindow(m_hWnd);
        return;
    case ID_TIMER_TIP_DELAY:
    {
        CPoint pt;
        if (!::GetCursorPos(&pt) || !m_rcWndArea.PtInRect(pt))
            Hide();
        return;
    }
    case ID_TIMER_TIP_IGNORED:
    {
        bool bKeep = (::GetAsyncKeyState(VK_LBUTTON) & 0x8000) == 0 && (::GetAsyncKeyState(VK_MBUTTON) & 0x8000) == 0 &&
                     (::GetAsyncKeyState(VK_RBUTTON) & 0x8000) == 0 && (::GetAsyncKeyState(VK_MENU) & 0x8000) == 0 &&
                     g_PopupBarServices.GetDraggedBar() == NULL;
        if (bKeep && CExtPopupMenuWnd::IsMenuTracking())
        {
            CWnd* pOwner = CWnd::FromHandlePermanent(::GetWindow(m_hWnd, GW_OWNER));
            bKeep = pOwner != NULL && pOwner->IsKindOf(RUNTIME_CLASS(CExtPopupMenuWnd));
        }
        if (!bKeep)
            Hide();
        return;
    }
    default: CExtPopupBaseWnd::OnTimer(nIDEvent); return;
    }
}

void CExtPopupMenuTipWnd::OnActivateApp(BOOL, DWORD) { Hide(); }

void CExtPopupMenuTipWnd::OnPaintMenu(CDC& dc, bool)
{
    if (GetSafeHwnd() == NULL)
        return;
    CExtPaintManager* pPM = GetPaintManager();
    CRect rcClient;
    GetClientRect(&rcClient);
    const COLORREF clrBk = ::GetSysColor(COLOR_INFOBK);
    const COLORREF clrFrame = ::GetSysColor(COLOR_3DDKSHADOW);
    const COLORREF clrText = (pPM != NULL) ? pPM->LookupColor(COLOR_INFOTEXT) : ::GetSysColor(COLOR_INFOTEXT);
    const bool bIcon = HasIcon() && !m_icon.IsEmpty();
    CPoint ptText;
    if (IsBalloon())
    {
        CClientDC dcDummy(this);
        CSize size;
        HRGN hRgn = CalcLayout(dcDummy, size);
        if (hRgn != NULL)
        {
            HBRUSH hBk = ::CreateSolidBrush(clrBk);
            HBRUSH hFrame = ::CreateSolidBrush(clrFrame);
            ::FillRgn(dc.GetSafeHdc(), hRgn, hBk);
            ::FrameRgn(dc.GetSafeHdc(), hRgn, hFrame, 1, 1);
            ::DeleteObject(hBk);
            ::DeleteObject(hFrame);
            ::DeleteObject(hRgn);
        }
        ptText = CPoint(m_nBalloonEllipseX, m_nBalloonEllipseY + ((m_nFlipFlags & __FLIP_VERT) ? m_nStemHeight : 0));
    }
    else
    {
        CRect rcBody = rcClient;
        const int S = std::max(0, GetShadowSize());
        if (S > 0)
        {
            rcBody.right -= S;
            rcBody.bottom -= S;
            CRect rcEmpty(0, 0, 0, 0);
            m_shadowTip.Paint(pPM, dc, rcBody, rcEmpty, rcEmpty, S, 70, 95, true, true, false, m_hWnd);
        }
        dc.FillSolidRect(&rcBody, clrBk);
        CBrush brFrame(clrFrame);
        dc.FrameRect(&rcBody, &brFrame);
        ptText = CPoint(rcBody.left + m_nRectMarginX, rcBody.top + m_nRectMarginY);
    }
    if (bIcon)
    {
        m_icon.Paint(pPM, dc.GetSafeHdc(), ptText.x, ptText.y, m_sizeIcon.cx, m_sizeIcon.cy);
        ptText.x += m_sizeIcon.cx + m_nIconGap;
    }
    CFont* pOldFont = (pPM != NULL) ? dc.SelectObject(&pPM->m_FontNormal) : NULL;
    const int nOldMode = dc.SetBkMode(TRANSPARENT);
    const COLORREF clrOld = dc.SetTextColor(clrText);
    dc.TextOut(ptText.x, ptText.y, m_sText);
    dc.SetTextColor(clrOld);
    dc.SetBkMode(nOldMode);
    if (pOldFont != NULL)
        dc.SelectObject(pOldFont);
}
