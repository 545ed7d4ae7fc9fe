#include "toolkit/theme/nc_frame_impl.h"
#include "toolkit/core/message_point.h"

namespace {

const int NO_POINT = -32767;

void EmptyRects(RECT* arr[], int n)
{
    for (int i = 0; i < n; i++)
        ::SetRectEmpty(arr[i]);
}

}  // namespace

// ---- the bridge --------------------------------------------------------------------------------

CExtPmBridgeNC::CExtPmBridgeNC(CExtNcFrameImpl* pOwner) : m_pOwner(pOwner) { RegisterWithHolder(); }

CExtPmBridgeNC::~CExtPmBridgeNC() { UnregisterFromHolder(); }

void CExtPmBridgeNC::RegisterWithHolder() { g_CurrentPaintManager.RegisterBridge(this); }

void CExtPmBridgeNC::UnregisterFromHolder() { g_CurrentPaintManager.UnregisterBridge(this); }

HWND CExtPmBridgeNC::GetBridgeHwnd() { return (m_pOwner != NULL) ? m_pOwner->GetFrameHwnd() : NULL; }

CExtPaintManager* CExtPmBridgeNC::GetPaintManager() { return g_CurrentPaintManager.GetPM(); }

void CExtPmBridgeNC::OnSysColorsChanged(CExtPaintManager*, CWnd*) {}
void CExtPmBridgeNC::OnSystemSettingChanged(CExtPaintManager*, CWnd*, UINT, LPCTSTR) {}
void CExtPmBridgeNC::OnDisplayModeChanged(CExtPaintManager*, CWnd*, int, int, int) {}
void CExtPmBridgeNC::OnVisualThemeChanged(CExtPaintManager*, CWnd*, WPARAM, LPARAM) {}

void CExtPmBridgeNC::OnPaintManagerInstalled(CExtPaintManager* pPM)
{
    HWND hWnd = GetBridgeHwnd();
    if (m_pOwner == NULL || hWnd == NULL || !::IsWindow(hWnd))
    {
        CExtPmBridge::OnPaintManagerInstalled(pPM);
        return;
    }
    CExtNcFrameImpl& frame = *m_pOwner;
    WINDOWPLACEMENT wp;
    ::memset(&wp, 0, sizeof(wp));
    wp.length = sizeof(wp);
    ::GetWindowPlacement(hWnd, &wp);
    const DWORD dwStyle = (DWORD)::GetWindowLongA(hWnd, GWL_STYLE);
    const bool bTopLevelVisible = (dwStyle & WS_VISIBLE) != 0 && (dwStyle & WS_CHILD) == 0;
    const bool bNudge = bTopLevelVisible && wp.showCmd == SW_SHOWNORMAL && g_CurrentPaintManager.IsWinXP();

    // A disabled cover over the window hides the frame being rebuilt.
    HWND hWndCover = NULL;
    if (bTopLevelVisible)
    {
        RECT rc;
        ::GetWindowRect(hWnd, &rc);
        if (bNudge)
            rc.right++;
        hWndCover = ::CreateWindowExA(0, "Static", "", WS_POPUP, rc.left, rc.top, rc.right - rc.left,
                                      rc.bottom - rc.top, hWnd, NULL, ::GetModuleHandleA(NULL), NULL);
        if (hWndCover != NULL)
        {
            ::EnableWindow(hWndCover, FALSE);
            ::ShowWindow(hWndCover, SW_SHOWNOACTIVATE);
        }
    }
    {
        CExtNcFrameImpl::BusyLock lock(frame);
        ::SetWindowRgn(hWnd, NULL, TRUE);
        const DWORD dwNow = (DWORD)::GetWindowLongA(hWnd, GWL_STYLE);
        if ((frame.m_dwSavedStyle & WS_BORDER) != 0)
            ::SetWindowLongA(hWnd, GWL_STYLE, (LONG)(dwNow | WS_BORDER));
        else
            ::SetWindowLongA(hWnd, GWL_STYLE, (LONG)(dwNow & ~WS_BORDER));
        CExtPmBridge::OnPaintManagerInstalled(pPM);
        if (::IsWindow(hWnd) && frame.IsNcFrameActive())
            ::SetWindowLongA(hWnd, GWL_STYLE, ::GetWindowLongA(hWnd, GWL_STYLE) & ~WS_BORDER);
        frame.m_dwNcStateFlags &= ~CExtNcFrameImpl::__ENCF_REGION_SET;
    }
    if (::IsWindow(hWnd))
    {
        if (frame.IsNcFrameActive())
        {
            frame.RecomputeWindowRgn(NULL);
            ::RedrawWindow(hWnd, NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
        }
        else
        {
            frame.RecalcFrame();
            if (bNudge)
            {
                // One pixel wider and back: the system lays its standard frame out again.
                RECT rc;
                ::GetWindowRect(hWnd, &rc);
                HWND hWndParent = ::GetParent(hWnd);
                if (hWndParent != NULL && (dwStyle & WS_CHILD) != 0)
                    ::MapWindowPoints(NULL, hWndParent, (POINT*)&rc, 2);
                ::MoveWindow(hWnd, rc.left, rc.top, rc.right - rc.left + 1, rc.bottom - rc.top, FALSE);
                ::MoveWindow(hWnd, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, FALSE);
            }
        }
    }
    // Let the position and size messages of the re-framing arrive before the cover goes.
    static const UINT arrKinds[] = {WM_WINDOWPOSCHANGING, WM_WINDOWPOSCHANGED, WM_NCCALCSIZE,
                                    WM_WINDOWPOSCHANGING, WM_WINDOWPOSCHANGED, WM_SIZE};
    for (int nPass = 0; nPass < 100; nPass++)
    {
        bool bDispatched = false;
        for (UINT nKind : arrKinds)
        {
            MSG msg;
            while (::PeekMessageA(&msg, NULL, nKind, nKind, PM_REMOVE))
            {
                ::DispatchMessageA(&msg);
                bDispatched = true;
            }
        }
        if (!bDispatched)
            break;
    }
    if (hWndCover != NULL)
        ::DestroyWindow(hWndCover);
    CExtPaintManager::PumpPaintMessages(true, true, true);
}

// ---- the frame ------------------------------------------------------------------------------------

CExtNcFrameImpl::CExtNcFrameImpl()
    : m_BridgeNC(NULL),
      m_dwNcStateFlags(0),
      m_dwSavedStyle(0),
      m_dwSavedExStyle(0),
      m_nBusy(0),
      m_nLastHoverHitTest(0),
      m_ptLastHover(NO_POINT, NO_POINT),
      m_dwNcOptionFlags(__ENCO_THEMED_FRAME_ALLOWED),
      m_nHoverSysCmd(0),
      m_nPushedSysCmd(0),
      m_strTipMinimize(_T("Minimize")),
      m_strTipMaximize(_T("Maximize")),
      m_strTipRestore(_T("Restore")),
      m_strTipClose(_T("Close"))
{
    m_BridgeNC.m_pOwner = this;
    RECT* arr[] = {&m_rcNcCaptionText, &m_rcNcIcon, &m_rcNcHelp, &m_rcNcClose, &m_rcNcMaximizeRestore,
                   &m_rcNcMinimize};
    EmptyRects(arr, 6);
}

CExtNcFrameImpl::~CExtNcFrameImpl() {}

CWnd* CExtNcFrameImpl::GetFrameWnd() const
{
    HWND hWnd = GetFrameHwnd();
    return (hWnd != NULL) ? CWnd::FromHandle(hWnd) : NULL;
}

CString* CExtNcFrameImpl::GetCaptionButtonTip(UINT nSysCmd)
{
    if (::IsRectEmpty(&m_rcNcClose))
        ComputeButtonRects();
    switch (nSysCmd & 0xFFF0)
    {
    case SC_MINIMIZE:
        return &m_strTipMinimize;
    case SC_MAXIMIZE:
    case SC_RESTORE:
    {
        HWND hWnd = GetFrameHwnd();
        return (hWnd != NULL && ::IsZoomed(hWnd)) ? &m_strTipRestore : &m_strTipMaximize;
    }
    case SC_CLOSE:
        return &m_strTipClose;
    default:
        return NULL;
    }
}

bool CExtNcFrameImpl::IsNcFrameActive() const
{
    if ((m_dwNcOptionFlags & __ENCO_THEMED_FRAME_ALLOWED) == 0)
        return false;
    HWND hWnd = GetFrameHwnd();
    if (hWnd == NULL || !::IsWindow(hWnd))
        return false;
    return g_CurrentPaintManager->IsThemedFrameSupported(CWnd::FromHandle(hWnd), 0);
}

bool CExtNcFrameImpl::QueryNcFrameMarginsOwn() const { return false; }

void CExtNcFrameImpl::GetNcFrameMargins(RECT& rcMargins) const { ::SetRectEmpty(&rcMargins); }

bool CExtNcFrameImpl::IsCaptionActive() const
{
    HWND hWnd = GetFrameHwnd();
    if (hWnd == NULL)
        return false;
    if ((m_dwNcStateFlags & __ENCF_CAPTION_ACTIVE) != 0)
        return true;
    HWND hWndActive = ::GetActiveWindow();
    if (hWndActive == NULL)
        return false;
    return hWndActive == hWnd || ::IsChild(hWnd, hWndActive) || ::GetParent(hWndActive) != NULL;
}

bool CExtNcFrameImpl::GetNcStateFlag() const { return (m_dwNcStateFlags & __ENCF_QUERY) != 0; }

bool CExtNcFrameImpl::RecalcFrame()
{
    HWND hWnd = GetFrameHwnd();
    if (m_nBusy > 0 || hWnd == NULL || !::IsWindow(hWnd))
        return false;
    ::SetWindowPos(hWnd, NULL, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    return true;
}

void CExtNcFrameImpl::InitNcFrame()
{
    HWND hWnd = GetFrameHwnd();
    if (hWnd == NULL)
        return;
    m_dwSavedStyle = (DWORD)::GetWindowLongA(hWnd, GWL_STYLE);
    m_dwSavedExStyle = (DWORD)::GetWindowLongA(hWnd, GWL_EXSTYLE);
    if ((m_dwSavedStyle & WS_BORDER) != 0 && IsNcFrameActive())
    {
        m_dwNcStateFlags &= ~__ENCF_REGION_SET;
        ::SetWindowLongA(hWnd, GWL_STYLE, (LONG)(m_dwSavedStyle & ~WS_BORDER));
    }
    RecalcFrame();
}

void CExtNcFrameImpl::ResetNcFrame()
{
    m_dwNcStateFlags &= ~__ENCF_REGION_SET;
    m_ptLastHover = CPoint(NO_POINT, NO_POINT);
    m_nLastHoverHitTest = 0;
    m_FrameIcon.Empty();
}

bool CExtNcFrameImpl::IsSysCommandEnabled(UINT nSysCmd)
{
    HWND hWnd = GetFrameHwnd();
    if (hWnd == NULL)
        return false;
    const DWORD dwStyle = (DWORD)::GetWindowLongA(hWnd, GWL_STYLE);
    nSysCmd &= 0xFFF0;
    if (nSysCmd == SC_MINIMIZE)
        return (dwStyle & WS_MINIMIZEBOX) != 0;
    if (nSysCmd != SC_MAXIMIZE && nSysCmd != SC_RESTORE)
        return true;
    if (nSysCmd == SC_MAXIMIZE && (dwStyle & WS_MAXIMIZEBOX) == 0)
        return false;
    CExtPaintManager::MONITORDATA md;
    CExtPaintManager::MonitorDataFromWnd(md, CWnd::FromHandle(hWnd));
    MINMAXINFO mmi;
    ::memset(&mmi, 0, sizeof(mmi));
    const int cxWork = md.m_rcWorkArea.right - md.m_rcWorkArea.left;
    const int cyWork = md.m_rcWorkArea.bottom - md.m_rcWorkArea.top;
    mmi.ptMaxPosition.x = md.m_rcWorkArea.left;
    mmi.ptMaxPosition.y = md.m_rcWorkArea.top;
    mmi.ptMaxSize.x = mmi.ptMaxTrackSize.x = cxWork;
    mmi.ptMaxSize.y = mmi.ptMaxTrackSize.y = cyWork;
    mmi.ptMinTrackSize.x = ::GetSystemMetrics(SM_CXMINTRACK);
    mmi.ptMinTrackSize.y = ::GetSystemMetrics(SM_CYMINTRACK);
    if (::SendMessageA(hWnd, WM_GETMINMAXINFO, 0, (LPARAM)&mmi) != 0)
        return true;
    if (nSysCmd == SC_RESTORE)
    {
        WINDOWPLACEMENT wp;
        ::memset(&wp, 0, sizeof(wp));
        wp.length = sizeof(wp);
        ::GetWindowPlacement(hWnd, &wp);
        if (wp.showCmd == SW_SHOWMINIMIZED || wp.showCmd == SW_SHOWMINNOACTIVE ||
            wp.showCmd == SW_RESTORE)
            return true;
    }
    return mmi.ptMinTrackSize.x < mmi.ptMaxTrackSize.x && mmi.ptMinTrackSize.y < mmi.ptMaxTrackSize.y;
}

LRESULT CExtNcFrameImpl::TrackNcHover(int x, int y, UINT nHitTest)
{
    HWND hWnd = GetFrameHwnd();
    POINT ptCursor;
    if (IsNcFrameActive() && ::GetCursorPos(&ptCursor) && ::WindowFromPoint(ptCursor) == hWnd)
    {
        if (m_ptLastHover.x != x || m_ptLastHover.y != y || m_nLastHoverHitTest != (int)nHitTest)
        {
            m_ptLastHover = CPoint(x, y);
            m_nLastHoverHitTest = (int)nHitTest;
            return ::SendMessageA(hWnd, WM_SETCURSOR, (WPARAM)hWnd, MAKELPARAM(nHitTest, 0));
        }
        return (LRESULT)nHitTest;
    }
    m_nLastHoverHitTest = 0;
    m_ptLastHover = CPoint(NO_POINT, NO_POINT);
    return NO_POINT;
}

void CExtNcFrameImpl::RecomputeWindowRgn(const WINDOWPOS* pWP)
{
    HWND hWnd = GetFrameHwnd();
    if (m_nBusy > 0 || hWnd == NULL || !::IsWindow(hWnd))
        return;
    m_dwNcStateFlags |= __ENCF_REGION_SET;
    m_ptLastHover = CPoint(NO_POINT, NO_POINT);
    m_nLastHoverHitTest = 0;
    if ((m_dwSavedStyle & WS_BORDER) == 0)
        return;
    RECT rc;
    ::GetWindowRect(hWnd, &rc);
    ::OffsetRect(&rc, -rc.left, -rc.top);
    if (pWP != NULL && (pWP->flags & SWP_NOSIZE) == 0)
        ::SetRect(&rc, 0, 0, pWP->cx, pWP->cy);
    RECT* arr[] = {&m_rcNcHelp, &m_rcNcClose, &m_rcNcMaximizeRestore, &m_rcNcMinimize};
    EmptyRects(arr, 4);
    HRGN hRgn = g_CurrentPaintManager->GetThemedFrameRgn(CWnd::FromHandle(hWnd), rc, 0);
    ::SetWindowRgn(hWnd, hRgn, TRUE);
}

void CExtNcFrameImpl::UpdateFrameIcon()
{
    HWND hWnd = GetFrameHwnd();
    if (hWnd == NULL)
        return;
    HICON hIcon = (HICON)::SendMessageA(hWnd, WM_GETICON, ICON_SMALL, 0);
    if (hIcon == NULL)
        hIcon = (HICON)::SendMessageA(hWnd, WM_GETICON, ICON_BIG, 0);
    if (hIcon == NULL)
        hIcon = (HICON)::GetClassLongPtrA(hWnd, GCLP_HICONSM);
    if (hIcon == NULL)
        hIcon = (HICON)::GetClassLongPtrA(hWnd, GCLP_HICON);
    if (hIcon == NULL)
        return;
    m_FrameIcon.AssignFromHICON(hIcon, true);
    const CSize sz = m_FrameIcon.GetSize();
    if (!m_FrameIcon.IsEmpty() && (sz.cx != 16 || sz.cy != 16))
        m_FrameIcon.Scale(CSize(16, 16));
}

void CExtNcFrameImpl::ComputeButtonRects()
{
    HWND hWnd = GetFrameHwnd();
    if (hWnd == NULL || !::IsWindow(hWnd))
        return;
    RECT rcWnd;
    ::GetWindowRect(hWnd, &rcWnd);
    ::OffsetRect(&rcWnd, -rcWnd.left, -rcWnd.top);
    g_CurrentPaintManager->GetThemedFrameButtonRects(
        CWnd::FromHandle(hWnd), rcWnd, IsCaptionActive(), m_rcNcIcon, m_rcNcCaptionText, m_rcNcHelp,
        m_rcNcMinimize, m_rcNcMaximizeRestore, m_rcNcClose, (DWORD)::GetWindowLongA(hWnd, GWL_STYLE), 0);
}

UINT CExtNcFrameImpl::SysCmdFromPoint(const POINT& pt)
{
    if (::PtInRect(&m_rcNcClose, pt))
        return SC_CLOSE;
    if (::PtInRect(&m_rcNcMinimize, pt))
        return SC_MINIMIZE;
    if (::PtInRect(&m_rcNcMaximizeRestore, pt))
        return SC_MAXIMIZE;
    if (::PtInRect(&m_rcNcHelp, pt))
        return SC_CONTEXTHELP;
    return 0;
}

void CExtNcFrameImpl::PaintFrame()
{
    HWND hWnd = GetFrameHwnd();
    if (hWnd == NULL || !::IsWindow(hWnd))
        return;
    ComputeButtonRects();
    RECT rcWnd;
    ::GetWindowRect(hWnd, &rcWnd);
    ::OffsetRect(&rcWnd, -rcWnd.left, -rcWnd.top);
    RECT rcBorders = {0, 0, 0, 0}, rcCaption = {0, 0, 0, 0};
    g_CurrentPaintManager->GetThemedFrameBorders(rcBorders, rcCaption, CWnd::FromHandle(hWnd), 0);
    HDC hWndDC = ::GetWindowDC(hWnd);
    if (hWndDC == NULL)
        return;
    // The client area stays out; the frame is composed off screen and copied at once.
    RECT rcClient;
    ::GetClientRect(hWnd, &rcClient);
    ::MapWindowPoints(hWnd, NULL, (POINT*)&rcClient, 2);
    RECT rcWndScreen;
    ::GetWindowRect(hWnd, &rcWndScreen);
    ::OffsetRect(&rcClient, -rcWndScreen.left, -rcWndScreen.top);
    ::ExcludeClipRect(hWndDC, rcClient.left, rcClient.top, rcClient.right, rcClient.bottom);
    HDC hMemDC = ::CreateCompatibleDC(hWndDC);
    HBITMAP hBmp = ::CreateCompatibleBitmap(hWndDC, rcWnd.right, rcWnd.bottom);
    if (hMemDC != NULL && hBmp != NULL)
    {
        HGDIOBJ hOld = ::SelectObject(hMemDC, hBmp);
        CDC* pDC = CDC::FromHandle(hMemDC);
        const DWORD dwStyle = (DWORD)::GetWindowLongA(hWnd, GWL_STYLE);
        char sText[256] = "";
        ::GetWindowTextA(hWnd, sText, (int)sizeof(sText));
        UpdateFrameIcon();
        HICON hIcon = m_FrameIcon.IsEmpty() ? NULL : m_FrameIcon.ExtractHICON(false, -1);
        CWnd* pWnd = CWnd::FromHandle(hWnd);
        g_CurrentPaintManager->DrawThemedFrame(
            pWnd, *pDC, rcWnd, rcCaption, m_rcNcCaptionText, m_rcNcIcon, m_rcNcHelp, m_rcNcMinimize,
            m_rcNcMaximizeRestore, m_rcNcClose, sText, hIcon, IsCaptionActive(), ::IsZoomed(hWnd) != FALSE,
            (GetWindowLongA(hWnd, GWL_EXSTYLE) & WS_EX_CONTEXTHELP) != 0,
            (dwStyle & WS_MINIMIZEBOX) != 0, (dwStyle & WS_MAXIMIZEBOX) != 0,
            IsSysCommandEnabled(SC_CLOSE), m_nHoverSysCmd, m_nPushedSysCmd, 0);
        if (hIcon != NULL)
            ::DestroyIcon(hIcon);
        ::BitBlt(hWndDC, 0, 0, rcWnd.right, rcWnd.bottom, hMemDC, 0, 0, SRCCOPY);
        ::SelectObject(hMemDC, hOld);
    }
    if (hBmp != NULL)
        ::DeleteObject(hBmp);
    if (hMemDC != NULL)
        ::DeleteDC(hMemDC);
    ::ReleaseDC(hWnd, hWndDC);
}

bool CExtNcFrameImpl::FrameWindowProcHook(LRESULT& lResult, UINT message, WPARAM wParam, LPARAM lParam)
{
    m_dwNcStateFlags &= ~__ENCF_BORDER_RESTORED;
    HWND hWnd = GetFrameHwnd();
    if (hWnd == NULL)
        return false;
    RECT rcOwnMargins = {0, 0, 0, 0};
    const bool bOwnMargins = QueryNcFrameMarginsOwn();
    if (bOwnMargins)
        GetNcFrameMargins(rcOwnMargins);
    // A frame that supplies margins of nothing draws no frame, so nothing to repaint.
    const bool bOwnMarginsEmpty = bOwnMargins && rcOwnMargins.left < 1 && rcOwnMargins.top < 1 &&
                                  rcOwnMargins.right < 1 && rcOwnMargins.bottom < 1;
    switch (message)
    {
    case WM_CREATE:
        RecalcFrame();
        return false;
    case WM_ACTIVATE:
    case WM_ACTIVATEAPP:
        FollowActivation(hWnd, message, wParam, !bOwnMarginsEmpty);
        return false;
    case WM_SETICON:
        if (wParam == ICON_SMALL && lParam != 0)
            SetFrameIconScaled((HICON)lParam);
        return false;
    case WM_NCACTIVATE:
        lResult = TRUE;
        return true;
    case WM_NCCALCSIZE:
        if (m_nBusy <= 0 && lParam != 0)
            ShrinkToClientArea(hWnd, (RECT*)lParam, bOwnMargins, bOwnMarginsEmpty ? NULL : &rcOwnMargins);
        lResult = 0;
        return true;
    case WM_NCHITTEST:
        if (bOwnMargins)
            return false;
        lResult = HitTestFrame(hWnd, lParam);
        return true;
    case WM_NCLBUTTONDBLCLK:
        if (bOwnMargins)
            return false;
        // The hit test calls a caption button caption, so the second press of a quick
        // double click on a button comes as one on the caption: it presses the button
        // again, and only a double click made on the caption itself maximises or restores.
        if (PressCaptionButton(hWnd, message, lParam))
        {
            lResult = 0;
            return true;
        }
        return OnFrameDoubleClick(hWnd, wParam, lResult);
    case WM_NCPAINT:
        PaintFrame();
        lResult = 0;
        return true;
    case WM_NCMOUSEMOVE:
    case WM_MOUSEMOVE:
        return TrackCaptionButtonHover(hWnd, message);
    case WM_NCLBUTTONDOWN:
    case WM_LBUTTONDOWN:
        if (!PressCaptionButton(hWnd, message, lParam))
            return false;
        lResult = 0;
        return true;
    case WM_LBUTTONUP:
        if (m_nPushedSysCmd == 0)
            return false;
        ReleaseCaptionButton(hWnd, SysCmdFromPoint(WindowPointOfMessage(hWnd, message, lParam)));
        lResult = 0;
        return true;
    case WM_STYLECHANGED:
        if (wParam == (WPARAM)GWL_EXSTYLE)
            DropRightToLeftStyles(hWnd);
        return false;
    case WM_SYSCOMMAND:
    {
        const UINT nCmd = (UINT)(wParam & 0xFFF0);
        if (nCmd == SC_MAXIMIZE || nCmd == SC_CLOSE || nCmd == SC_RESTORE)
            m_nHoverSysCmd = m_nPushedSysCmd = 0;
        return false;
    }
    case WM_INITDIALOG:
        UpdateFrameIcon();
        return false;
    default:
        return false;
    }
}

void CExtNcFrameImpl::FollowActivation(HWND hWnd, UINT message, WPARAM wParam, bool bRepaint)
{
    if (message == WM_ACTIVATE)
    {
        if (LOWORD(wParam) != WA_INACTIVE)
            m_dwNcStateFlags |= __ENCF_CAPTION_ACTIVE;
        else
            m_dwNcStateFlags &= ~__ENCF_CAPTION_ACTIVE;
        if (bRepaint)
        {
            // The frame's shape may differ between the active and the inactive look.
            m_dwNcStateFlags &= ~__ENCF_REGION_SET;
            RecomputeWindowRgn(NULL);
            ::SendMessageA(hWnd, WM_NCPAINT, 0, 0);
        }
        return;
    }
    // WM_ACTIVATEAPP: leaving the application deactivates the caption; coming back
    // keeps the state the window had.
    if (wParam == 0 || !IsCaptionActive())
        m_dwNcStateFlags &= ~__ENCF_CAPTION_ACTIVE;
    else
        m_dwNcStateFlags |= __ENCF_CAPTION_ACTIVE;
    if (bRepaint)
        ::SendMessageA(hWnd, WM_NCPAINT, 0, 0);
}

void CExtNcFrameImpl::SetFrameIconScaled(HICON hIcon)
{
    m_FrameIcon.AssignFromHICON(hIcon, true);
    const CSize sizeIcon = m_FrameIcon.GetSize();
    if (!m_FrameIcon.IsEmpty() && (sizeIcon.cx != 16 || sizeIcon.cy != 16))
        m_FrameIcon.Scale(CSize(16, 16));
}

void CExtNcFrameImpl::ShrinkToClientArea(HWND hWnd, RECT* pRect, bool bOwnMargins, const RECT* pOwnMargins)
{
    RECT rcMargins = {0, 0, 0, 0};
    if (bOwnMargins)
    {
        if (pOwnMargins != NULL)
            rcMargins = *pOwnMargins;
    }
    else
    {
        RECT rcCaption = {0, 0, 0, 0};
        g_CurrentPaintManager->GetThemedFrameBorders(rcMargins, rcCaption, CWnd::FromHandle(hWnd), 0);
    }
    // pRect is the first rectangle of either parameter form.
    pRect->left += rcMargins.left;
    pRect->top += rcMargins.top;
    pRect->right -= rcMargins.right;
    pRect->bottom -= rcMargins.bottom;
}

POINT CExtNcFrameImpl::WindowPointOfMessage(HWND hWnd, UINT message, LPARAM lParam)
{
    POINT pt = MessagePoint(hWnd, message, lParam);
    ::ClientToScreen(hWnd, &pt);
    RECT rcWnd;
    ::GetWindowRect(hWnd, &rcWnd);
    pt.x -= rcWnd.left;
    pt.y -= rcWnd.top;
    return pt;
}

LRESULT CExtNcFrameImpl::HitTestFrame(HWND hWnd, LPARAM lParam)
{
    // The point the system asks about: that of the mouse message it is placing, which
    // the pointer may have left by the time the thread takes it.
    const POINT ptScreen = {(short)LOWORD(lParam), (short)HIWORD(lParam)};
    RECT rcWnd;
    ::GetWindowRect(hWnd, &rcWnd);
    POINT ptWnd = {ptScreen.x - rcWnd.left, ptScreen.y - rcWnd.top};
    if (::IsRectEmpty(&m_rcNcClose))
        ComputeButtonRects();
    static const struct
    {
        RECT CExtNcFrameImpl::*pRect;
        UINT nHit;
    } buttons[] = {{&CExtNcFrameImpl::m_rcNcClose, HTCLOSE},
                   {&CExtNcFrameImpl::m_rcNcMinimize, HTMINBUTTON},
                   {&CExtNcFrameImpl::m_rcNcMaximizeRestore, HTMAXBUTTON},
                   {&CExtNcFrameImpl::m_rcNcHelp, HTHELP}};
    // Over a caption button the system sees caption; the button's hover is ours.
    for (const auto& button : buttons)
        if (::PtInRect(&(this->*button.pRect), ptWnd))
        {
            TrackNcHover(ptScreen.x, ptScreen.y, button.nHit);
            return HTCAPTION;
        }
    ::OffsetRect(&rcWnd, -rcWnd.left, -rcWnd.top);
    const RECT rcHit = g_CurrentPaintManager->GetThemedFrameRect(CWnd::FromHandle(hWnd), rcWnd, IsCaptionActive(),
                                                                 ::IsZoomed(hWnd) != FALSE, true, 0, 0);
    return ::PtInRect(&rcHit, ptWnd) ? HTCAPTION : HTCLIENT;
}

bool CExtNcFrameImpl::OnFrameDoubleClick(HWND hWnd, WPARAM nHitTest, LRESULT& lResult)
{
    if (nHitTest == HTCAPTION)
    {
        if (IsSysCommandEnabled(SC_RESTORE) || IsSysCommandEnabled(SC_MAXIMIZE))
            ::SendMessageA(hWnd, WM_SYSCOMMAND, ::IsZoomed(hWnd) ? SC_RESTORE : SC_MAXIMIZE, 0);
    }
    else if (nHitTest == HTSYSMENU)
    {
        if (IsSysCommandEnabled(SC_CLOSE))
        {
            ::SetWindowLongA(hWnd, GWL_STYLE, ::GetWindowLongA(hWnd, GWL_STYLE) | WS_BORDER);
            ::SendMessageA(hWnd, WM_SYSCOMMAND, SC_CLOSE, 0);
            if (::IsWindow(hWnd))
            {
                ::SetWindowLongA(hWnd, GWL_STYLE, ::GetWindowLongA(hWnd, GWL_STYLE) & ~WS_BORDER);
                ::SendMessageA(hWnd, WM_NCPAINT, 0, 0);
            }
        }
    }
    else
    {
        // The system handles it with its border in place; the post hook removes it.
        m_dwNcStateFlags |= __ENCF_BORDER_RESTORED;
        ::SetWindowLongA(hWnd, GWL_STYLE, ::GetWindowLongA(hWnd, GWL_STYLE) | WS_BORDER);
        return false;
    }
    lResult = 0;
    return true;
}

bool CExtNcFrameImpl::TrackCaptionButtonHover(HWND hWnd, UINT message)
{
    if (::IsRectEmpty(&m_rcNcClose))
        ComputeButtonRects();
    POINT ptScreen;
    RECT rcWnd;
    if (!::GetCursorPos(&ptScreen) || !::GetWindowRect(hWnd, &rcWnd))
        return false;
    POINT ptWnd = {ptScreen.x - rcWnd.left, ptScreen.y - rcWnd.top};
    const UINT nCmd = SysCmdFromPoint(ptWnd);
    if (nCmd != m_nHoverSysCmd)
    {
        m_nHoverSysCmd = nCmd;
        ::SendMessageA(hWnd, WM_NCPAINT, 0, 0);
    }
    // Only a move over a caption button is kept from the window.
    return message == WM_NCMOUSEMOVE && nCmd != 0;
}

bool CExtNcFrameImpl::PressCaptionButton(HWND hWnd, UINT message, LPARAM lParam)
{
    // The button the press was made on, wherever the pointer is by now.
    const UINT nCmd = SysCmdFromPoint(WindowPointOfMessage(hWnd, message, lParam));
    if (nCmd == 0)
        return false;
    m_nPushedSysCmd = m_nHoverSysCmd = nCmd;
    ::SetCapture(hWnd);
    ::SendMessageA(hWnd, WM_NCPAINT, 0, 0);
    return true;
}

void CExtNcFrameImpl::ReleaseCaptionButton(HWND hWnd, UINT nReleasedOn)
{
    UINT nCmd = m_nPushedSysCmd;
    const bool bReleasedOver = nReleasedOn == nCmd;
    m_nPushedSysCmd = 0;
    m_nHoverSysCmd = 0;
    if (::GetCapture() == hWnd)
        ::ReleaseCapture();
    ::SendMessageA(hWnd, WM_NCPAINT, 0, 0);
    if (bReleasedOver)
    {
        if (nCmd == SC_MAXIMIZE && ::IsZoomed(hWnd))
            nCmd = SC_RESTORE;
        ::SendMessageA(hWnd, WM_SYSCOMMAND, nCmd, 0);
    }
}

void CExtNcFrameImpl::DropRightToLeftStyles(HWND hWnd)
{
    const LONG dwExStyle = ::GetWindowLongA(hWnd, GWL_EXSTYLE);
    if ((dwExStyle & (WS_EX_LAYOUTRTL | WS_EX_RTLREADING)) != 0)
    {
        ::SetWindowLongA(hWnd, GWL_EXSTYLE, dwExStyle & ~(WS_EX_LAYOUTRTL | WS_EX_RTLREADING));
        RecalcFrame();
    }
}

void CExtNcFrameImpl::FrameWindowProcPostHook(LRESULT&, UINT message, WPARAM, LPARAM lParam)
{
    HWND hWnd = GetFrameHwnd();
    switch (message)
    {
    case WM_WINDOWPOSCHANGING:
    {
        const WINDOWPOS* pWP = (const WINDOWPOS*)lParam;
        if (pWP != NULL && (pWP->flags & SWP_FRAMECHANGED) == 0)
            m_dwNcStateFlags |= __ENCF_NOT_FRAME_CHANGE;
        else
            m_dwNcStateFlags &= ~__ENCF_NOT_FRAME_CHANGE;
        RecomputeWindowRgn(pWP);
        break;
    }
    case WM_WINDOWPOSCHANGED:
        m_dwNcStateFlags &= ~__ENCF_NOT_FRAME_CHANGE;
        break;
    case WM_NCLBUTTONDBLCLK:
        if ((m_dwNcStateFlags & __ENCF_BORDER_RESTORED) != 0)
        {
            m_dwNcStateFlags &= ~__ENCF_BORDER_RESTORED;
            if (hWnd != NULL && ::IsWindow(hWnd))
                ::SetWindowLongA(hWnd, GWL_STYLE, ::GetWindowLongA(hWnd, GWL_STYLE) & ~WS_BORDER);
        }
        break;
    default:
        break;
    }
}
