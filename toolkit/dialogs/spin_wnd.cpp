#include "toolkit/dialogs/spin_wnd.h"

#include "toolkit/dialogs/memory_dc.h"
#include "toolkit/menus/popup_menu_wnd.h"

IMPLEMENT_DYNCREATE(CExtSpinWnd, CSpinButtonCtrl)

BYTE CExtSpinWnd::g_nLastHoverFirst = 0;
BYTE CExtSpinWnd::g_nLastHoverSecond = 0;

CExtSpinWnd::CExtSpinWnd()
    : m_bHoverFirst(0), m_bHoverSecond(0), m_bPressedFirst(0), m_bPressedSecond(0),
      m_clrBackground(COLORREF(-1L)), m_bNcCalcDone(0)
{
    RegisterWithHolder();
}

CExtSpinWnd::~CExtSpinWnd() { UnregisterFromHolder(); }

void CExtSpinWnd::RegisterWithHolder() { g_CurrentPaintManager.RegisterBridge(this); }
void CExtSpinWnd::UnregisterFromHolder() { g_CurrentPaintManager.UnregisterBridge(this); }
HWND CExtSpinWnd::GetBridgeHwnd() { return m_hWnd; }
CExtPaintManager* CExtSpinWnd::GetPaintManager() { return g_CurrentPaintManager.GetPM(); }

void CExtSpinWnd::OnPaintManagerInstalled(CExtPaintManager*)
{
    m_bNcCalcDone = 0;
    if (m_hWnd != NULL && ::IsWindow(m_hWnd))
        ::SetWindowPos(m_hWnd, NULL, 0, 0, 0, 0,
                       SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOOWNERZORDER);
}

void CExtSpinWnd::GetHalves(const RECT& rc, CRect& rcFirst, CRect& rcSecond) const
{
    rcFirst = rc;
    rcSecond = rc;
    const bool bHorz = m_hWnd != NULL && (GetStyle() & UDS_HORZ) != 0;
    if (bHorz)
    {
        const int x = rc.left + (rc.right - rc.left) / 2;
        rcFirst.right = x;
        rcSecond.left = x;
    }
    else
    {
        const int y = rc.top + (rc.bottom - rc.top) / 2;
        rcFirst.bottom = y;
        rcSecond.top = y;
    }
}

bool CExtSpinWnd::IsAttachedToEdit() const
{
    if (m_hWnd == NULL)
        return false;
    const DWORD dwStyle = GetStyle();
    if ((dwStyle & UDS_AUTOBUDDY) == 0 || (dwStyle & (UDS_ALIGNRIGHT | UDS_ALIGNLEFT)) == 0)
        return false;
    HWND hWndPrev = ::GetWindow(m_hWnd, GW_HWNDPREV);
    if (hWndPrev == NULL)
        return false;
    char szClass[6] = {0};
    ::GetClassNameA(hWndPrev, szClass, 6);
    return lstrcmpiA(szClass, "EDIT") == 0;
}

void CExtSpinWnd::RepaintNow()
{
    if (m_hWnd == NULL || !::IsWindow(m_hWnd))
        return;
    ::InvalidateRect(m_hWnd, NULL, TRUE);
    ::UpdateWindow(m_hWnd);
}

// ---- painting ----------------------------------------------------------------------------

void CExtSpinWnd::OnPaintBackground(CDC& dc, const RECT& rc)
{
    if (!dc.RectVisible(&rc))
        return;
    CExtPaintManager* pPM = GetPaintManager();
    if (m_clrBackground != COLORREF(-1L))
        dc.FillSolidRect(&rc, m_clrBackground);
    else if (pPM != NULL)
    {
        bool bPainted = false;
        if (pPM->UsesParentBackground(this, 0))
        {
            CExtPaintManager::ClipOutChildren(&dc, m_hWnd);
            bPainted = pPM->DrawWindowBackground(true, dc, this, 0);
        }
        if (!bPainted)
            dc.FillSolidRect(&rc, pPM->LookupColor(1000, this));
    }
    if (pPM != NULL)
        pPM->NotifyPaintDone(this, 0);
}

void CExtSpinWnd::OnPaintSpin(CDC& dc, const RECT& rc)
{
    if (!dc.RectVisible(&rc))
        return;
    OnPaintBackground(dc, rc);
    CExtPaintManager* pPM = GetPaintManager();
    if (pPM == NULL)
        return;
    const DWORD dwStyle = GetStyle();
    bool bEnabled = IsWindowEnabled() != FALSE;
    if (bEnabled && (dwStyle & UDS_AUTOBUDDY) != 0)
    {
        HWND hWndPrev = ::GetWindow(m_hWnd, GW_HWNDPREV);
        if (hWndPrev != NULL && !::IsWindowEnabled(hWndPrev))
            bEnabled = false;
    }
    const bool bHorz = (dwStyle & UDS_HORZ) != 0, bHot = (dwStyle & UDS_HOTTRACK) != 0;
    CRect rcFirst, rcSecond;
    GetHalves(rc, rcFirst, rcSecond);
    // The theme takes the enabled state before its two look flags (not flat, framed on
    // hover); given in their place, the halves would always paint disabled.
    pPM->DrawSpinButton(dc, rcFirst, true, bHorz, bEnabled, false, true, m_bPressedFirst != 0, m_bHoverFirst != 0,
                        bHot, this, 0);
    pPM->DrawSpinButton(dc, rcSecond, false, bHorz, bEnabled, false, true, m_bPressedSecond != 0,
                        m_bHoverSecond != 0, bHot, this, 0);
}

void CExtSpinWnd::OnPaintMessage()
{
    if (m_bNcCalcDone == 0)
        ::SetWindowPos(m_hWnd, NULL, 0, 0, 0, 0,
                       SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOOWNERZORDER);
    CPaintDC dcPaint(this);
    CRect rcClient;
    GetClientRect(&rcClient);
    if (!dcPaint.RectVisible(&rcClient))
        return;
    CExtMemoryDC dc(&dcPaint, &rcClient, CExtMemoryDC::MDCOPT_TO_MEMORY | CExtMemoryDC::MDCOPT_FILL_SURFACE);
    OnPaintSpin(dc, rcClient);
}

void CExtSpinWnd::OnNcCalcSizeMessage(NCCALCSIZE_PARAMS* pParams)
{
    m_bNcCalcDone = 1;
    CExtPaintManager* pPM = GetPaintManager();
    if (pParams == NULL || pPM == NULL || !IsAttachedToEdit())
        return;
    const DWORD dwStyle = GetStyle();
    HWND hWndEdit = ::GetWindow(m_hWnd, GW_HWNDPREV);
    const bool bScroll = (::GetWindowLong(hWndEdit, GWL_STYLE) & (WS_HSCROLL | WS_VSCROLL)) != 0;
    CRect rcNc(0, 0, 0, 0);
    pPM->GetSpinNcSize(rcNc, (dwStyle & UDS_ALIGNRIGHT) != 0, (dwStyle & UDS_ALIGNLEFT) != 0, bScroll);
    RECT& rc = pParams->rgrc[0];
    rc.left += rcNc.left;
    rc.top += rcNc.top;
    rc.right -= rcNc.right;
    rc.bottom -= rcNc.bottom;
    if ((GetExStyle() & WS_EX_LAYOUTRTL) != 0)
        ::OffsetRect(&rc, 3, 0);
}

// ---- mouse -------------------------------------------------------------------------------

bool CExtSpinWnd::OnHoverTrack(int x, int y)
{
    if (CExtPopupMenuWnd::IsMenuTracking())
        return false;
    if (!CExtPopupMenuWnd::stat_TestWindowsShareParent(m_hWnd, ::GetActiveWindow(), true, true, true))
        return false;
    CRect rcClient, rcFirst, rcSecond;
    GetClientRect(&rcClient);
    GetHalves(rcClient, rcFirst, rcSecond);
    const POINT pt = {x, y};
    m_bHoverFirst = (!rcFirst.IsRectEmpty() && rcFirst.PtInRect(pt)) ? 1 : 0;
    m_bHoverSecond = (!m_bHoverFirst && !rcSecond.IsRectEmpty() && rcSecond.PtInRect(pt)) ? 1 : 0;
    const bool bHolds = ::GetCapture() == m_hWnd;
    if (!m_bHoverFirst && !m_bHoverSecond)
    {
        if (!m_bPressedFirst && !m_bPressedSecond && bHolds)
            ::ReleaseCapture();
    }
    else if (!bHolds)
        CExtMouseCaptureSink::SetCapture(m_hWnd);
    if (m_bHoverFirst != g_nLastHoverFirst || m_bHoverSecond != g_nLastHoverSecond)
        RepaintNow();
    g_nLastHoverFirst = m_bHoverFirst;
    g_nLastHoverSecond = m_bHoverSecond;
    return true;
}

bool CExtSpinWnd::OnMouseClick(int x, int y, bool bDown, int nButton)
{
    if (nButton != 1)
        return false;
    m_bPressedFirst = m_bPressedSecond = 0;
    CRect rcClient, rcFirst, rcSecond;
    GetClientRect(&rcClient);
    GetHalves(rcClient, rcFirst, rcSecond);
    const POINT pt = {x, y};
    const bool bInFirst = !rcFirst.IsRectEmpty() && rcFirst.PtInRect(pt);
    const bool bInSecond = !bInFirst && !rcSecond.IsRectEmpty() && rcSecond.PtInRect(pt);
    if (bDown)
    {
        m_bPressedFirst = bInFirst ? 1 : 0;
        m_bPressedSecond = bInSecond ? 1 : 0;
    }
    if (m_bPressedFirst || m_bPressedSecond)
    {
        if (::GetCapture() != m_hWnd)
            CExtMouseCaptureSink::SetCapture(m_hWnd);
    }
    else if (::GetCapture() == m_hWnd)
        ::ReleaseCapture();
    if (!bDown)
    {
        if (!bInFirst && !bInSecond)
        {
            RepaintNow();
            return true;
        }
        OnHoverTrack(x, y);
    }
    RepaintNow();
    return true;
}

// ---- messages ----------------------------------------------------------------------------

LRESULT CExtSpinWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message)
    {
    case WM_UPDATEUISTATE: return 0;
    case WM_SETTEXT:
    case WM_ENABLE:
    {
        const LRESULT lr = CSpinButtonCtrl::WindowProc(message, wParam, lParam);
        RepaintNow();
        return lr;
    }
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: OnPaintMessage(); return 0;
    case WM_NCCALCSIZE: OnNcCalcSizeMessage((NCCALCSIZE_PARAMS*)lParam); return 0;
    case WM_NCPAINT:
        if (IsAttachedToEdit())
            ::SendMessage(::GetWindow(m_hWnd, GW_HWNDPREV), WM_NCPAINT, 0, 0);
        return 0;
    case WM_MOUSEMOVE:
    {
        const LRESULT lr = CSpinButtonCtrl::WindowProc(message, wParam, lParam);
        if (::IsWindow(m_hWnd))
            OnHoverTrack((short)LOWORD(lParam), (short)HIWORD(lParam));
        return lr;
    }
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    {
        const LRESULT lr = CSpinButtonCtrl::WindowProc(message, wParam, lParam);
        if (::IsWindow(m_hWnd))
            OnMouseClick((short)LOWORD(lParam), (short)HIWORD(lParam), message == WM_LBUTTONDOWN, 1);
        return lr;
    }
    case WM_CANCELMODE:
    {
        const LRESULT lr = CSpinButtonCtrl::WindowProc(message, wParam, lParam);
        if (::GetCapture() == m_hWnd)
            ::ReleaseCapture();
        m_bHoverFirst = m_bHoverSecond = m_bPressedFirst = m_bPressedSecond = 0;
        RepaintNow();
        return lr;
    }
    case WM_ACTIVATEAPP:
    {
        const LRESULT lr = CSpinButtonCtrl::WindowProc(message, wParam, lParam);
        if (!wParam && ::IsWindow(m_hWnd))
            ::SendMessage(m_hWnd, WM_CANCELMODE, 0, 0);
        return lr;
    }
    default: break;
    }
    return CSpinButtonCtrl::WindowProc(message, wParam, lParam);
}
