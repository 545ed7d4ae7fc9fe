// CExtMiniDockFrameWnd: its own non-client area (borders, a small caption, the bar's
// caption buttons or its own close button), hit test and painting, its tips, the
// bars menu on its caption, its sizing loop, its place inside the work area.
#include "toolkit/bars/control_bar.h"
#include <algorithm>
#include <cstdlib>
#include "framework/afxres.h"
#include "toolkit/core/cmd_manager.h"
#include "toolkit/dialogs/memory_dc.h"
#include "toolkit/menus/popup_menu_wnd.h"
#include "toolkit/theme/pm_bar_parts.h"

IMPLEMENT_DYNCREATE(CExtMiniDockFrameWnd, CMiniDockFrameWnd)

BEGIN_MESSAGE_MAP(CExtMiniDockFrameWnd, CMiniDockFrameWnd)
    ON_WM_SIZE()
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_CANCELMODE()
    ON_WM_SYSCOLORCHANGE()
    ON_WM_SETTINGCHANGE()
    ON_MESSAGE(WM_DISPLAYCHANGE, &CExtMiniDockFrameWnd::OnDisplayChange)
    ON_MESSAGE(WM_THEMECHANGED, &CExtMiniDockFrameWnd::OnThemeChanged)
    ON_WM_GETMINMAXINFO()
    ON_WM_WINDOWPOSCHANGING()
    ON_WM_WINDOWPOSCHANGED()
    ON_WM_NCCALCSIZE()
    ON_WM_NCHITTEST()
    ON_WM_NCPAINT()
    ON_WM_NCACTIVATE()
    ON_WM_NCMOUSEMOVE()
    ON_WM_NCLBUTTONDOWN()
    ON_WM_NCLBUTTONUP()
    ON_WM_NCLBUTTONDBLCLK()
    ON_WM_NCRBUTTONDOWN()
    ON_WM_TIMER()
    ON_WM_MOUSEMOVE()
    ON_WM_LBUTTONUP()
    ON_WM_RBUTTONDOWN()
    ON_WM_CAPTURECHANGED()
END_MESSAGE_MAP()

namespace {

const DWORD kSystemFrameStyles = WS_CAPTION | WS_THICKFRAME | MFS_4THICKFRAME;  // 0x00C40200
const DWORD kSystemFrameExStyles = WS_EX_STATICEDGE | WS_EX_WINDOWEDGE | WS_EX_TOOLWINDOW | WS_EX_DLGMODALFRAME;
const UINT kReframe = SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED;  // 0x237
bool g_bFittingWorkArea = false;

}  // namespace

CExtMiniDockFrameWnd::CExtMiniDockFrameWnd()
    : m_bResizingByCode(false), m_bBtnHideBarHover(FALSE), m_ptLastTrack(-1, -1), m_nResizingHT(0)
{
    ::SetRectEmpty(&m_rcBtnHideBar);
    ::SetRectEmpty(&m_rcFrameCaption);
    ::SetRectEmpty(&m_rcResizingStart);
    RegisterWithHolder();
}

CExtMiniDockFrameWnd::~CExtMiniDockFrameWnd() { UnregisterFromHolder(); }

void CExtMiniDockFrameWnd::RegisterWithHolder() { g_CurrentPaintManager.RegisterBridge(this); }
void CExtMiniDockFrameWnd::UnregisterFromHolder() { g_CurrentPaintManager.UnregisterBridge(this); }
HWND CExtMiniDockFrameWnd::GetBridgeHwnd() { return m_hWnd; }
CExtPaintManager* CExtMiniDockFrameWnd::GetPaintManager() { return g_CurrentPaintManager.GetPM(); }

CControlBar* CExtMiniDockFrameWnd::GetAnyControlBar()
{
    const CPtrArray& arr = m_wndDockBar.m_arrBars;
    for (INT_PTR i = 0; i < arr.GetSize(); i++)
    {
        void* p = arr[i];
        if (p != NULL && reinterpret_cast<UINT_PTR>(p) >= 0x10000)
            return reinterpret_cast<CControlBar*>(p);
    }
    return NULL;
}

CExtControlBar* CExtMiniDockFrameWnd::GetControlBar()
{
    // The first toolkit bar of the floating dock bar's rows.
    const CPtrArray& arr = m_wndDockBar.m_arrBars;
    for (INT_PTR i = 0; i < arr.GetSize(); i++)
    {
        void* p = arr[i];
        if (p == NULL || reinterpret_cast<UINT_PTR>(p) < 0x10000)
            continue;
        CExtControlBar* pBar = DYNAMIC_DOWNCAST(CExtControlBar, reinterpret_cast<CControlBar*>(p));
        if (pBar != NULL)
            return pBar;
    }
    return NULL;
}

// ---- creation ---------------------------------------------------------------------------

BOOL CExtMiniDockFrameWnd::PreCreateWindow(CREATESTRUCT& cs)
{
    if (!CMiniDockFrameWnd::PreCreateWindow(cs))
        return FALSE;
    cs.dwExStyle &= ~(WS_EX_LAYOUTRTL | WS_EX_RTLREADING);
    return TRUE;
}

BOOL CExtMiniDockFrameWnd::Create(CWnd* pParent, DWORD dwBarStyle)
{
    if (!CMiniDockFrameWnd::Create(pParent, dwBarStyle))
        return FALSE;
    ModifyStyle(0, WS_CLIPSIBLINGS | WS_CLIPCHILDREN);
    m_wndDockBar.ModifyStyle(0, WS_CLIPSIBLINGS | WS_CLIPCHILDREN);
    m_wndDockBar.ModifyStyleEx(WS_EX_LAYOUTRTL | WS_EX_RTLREADING, 0, SWP_FRAMECHANGED);
    ModifyStyleEx(WS_EX_LAYOUTRTL | WS_EX_RTLREADING, 0, SWP_FRAMECHANGED);
    ::SetWindowLong(m_hWnd, GWL_STYLE, ::GetWindowLong(m_hWnd, GWL_STYLE) & ~LONG(kSystemFrameStyles));
    ::SetWindowLong(m_hWnd, GWL_EXSTYLE, ::GetWindowLong(m_hWnd, GWL_EXSTYLE) & ~LONG(kSystemFrameExStyles));
    SetWindowPos(NULL, 0, 0, 0, 0, 0x73F & ~SWP_SHOWWINDOW & ~SWP_HIDEWINDOW);
    SetTimer(1, 1, NULL);
    EnableToolTips(TRUE);
    if (m_wndToolTip.Create(this))
        m_wndToolTip.Activate(TRUE);
    return TRUE;
}

void CExtMiniDockFrameWnd::CalcWindowRect(LPRECT lpClientRect, UINT)
{
    if (lpClientRect == NULL)
        return;
    ::InflateRect(lpClientRect, ::GetSystemMetrics(SM_CXFRAME), ::GetSystemMetrics(SM_CYFRAME));
    lpClientRect->top -= ::GetSystemMetrics(SM_CYSMCAPTION);
}

// ---- tips -------------------------------------------------------------------------------

BOOL CExtMiniDockFrameWnd::PreTranslateMessage(MSG* pMsg)
{
    if (m_wndToolTip.m_hWnd != NULL && pMsg != NULL)
        m_wndToolTip.RelayEvent(pMsg);
    return CMiniDockFrameWnd::PreTranslateMessage(pMsg);
}

INT_PTR CExtMiniDockFrameWnd::OnToolHitTest(CPoint point, TOOLINFO*) const
{
    CExtMiniDockFrameWnd* pThis = const_cast<CExtMiniDockFrameWnd*>(this);
    CExtControlBar* pBar = pThis->GetControlBar();
    if (pBar == NULL || pBar->m_hWnd == NULL || (pBar->m_dwStyle & CBRS_TOOLTIPS) == 0 || m_wndToolTip.m_hWnd == NULL)
        return -1;
    TOOLINFO ti;
    ::ZeroMemory(&ti, sizeof(ti));
    ti.cbSize = sizeof(ti);
    CPoint ptBar(point);
    ClientToScreen(&ptBar);
    pBar->ScreenToClient(&ptBar);
    const INT_PTR nHit = pBar->OnToolHitTest(ptBar, &ti);
    if (nHit < 0 || ti.lpszText == NULL || ti.lpszText == LPSTR_TEXTCALLBACK)
        return -1;
    // The bar hands over a copy of its text: it goes into the tip and is freed here. A
    // tool already known by its id only gets the new text.
    CRect rcTool(ti.rect);
    if (ti.hwnd != NULL && ti.hwnd != m_hWnd)
    {
        ::MapWindowPoints(ti.hwnd, m_hWnd, reinterpret_cast<POINT*>(&rcTool), 2);
    }
    TOOLINFO tiOld;
    ::ZeroMemory(&tiOld, sizeof(tiOld));
    tiOld.cbSize = sizeof(tiOld);
    if (pThis->m_wndToolTip.GetToolInfo(&tiOld, pThis, UINT_PTR(nHit)))
    {
        pThis->m_wndToolTip.UpdateTipText(ti.lpszText, pThis, UINT_PTR(nHit));
        pThis->m_wndToolTip.SetToolRect(pThis, UINT_PTR(nHit), &rcTool);
    }
    else
        pThis->m_wndToolTip.AddTool(pThis, ti.lpszText, &rcTool, UINT_PTR(nHit));
    free(ti.lpszText);
    return -1;
}

// ---- window procedure and paint-manager changes ----------------------------------------

LRESULT CExtMiniDockFrameWnd::WindowProc(UINT nMessage, WPARAM wParam, LPARAM lParam)
{
    if (nMessage == WM_PRINT || nMessage == WM_PRINTCLIENT)
    {
        CDC* pDC = CDC::FromHandle(HDC(wParam));
        if ((lParam & PRF_NONCLIENT) != 0)
            NcPaint(*pDC);
        if ((lParam & PRF_CHILDREN) != 0)
        {
            CRect rcWnd, rcClient;
            GetWindowRect(&rcWnd);
            GetClientRect(&rcClient);
            ClientToScreen(&rcClient);
            for (HWND hWnd = ::GetWindow(m_hWnd, GW_CHILD); hWnd != NULL; hWnd = ::GetWindow(hWnd, GW_HWNDNEXT))
            {
                if ((::GetWindowLong(hWnd, GWL_STYLE) & WS_VISIBLE) == 0)
                    continue;
                CRect rcChild;
                ::GetWindowRect(hWnd, &rcChild);
                const int nSaved = ::SaveDC(HDC(wParam));
                ::SetViewportOrgEx(HDC(wParam), rcChild.left - rcWnd.left, rcChild.top - rcWnd.top, NULL);
                ::SendMessage(hWnd, WM_PRINT, wParam, PRF_NONCLIENT | PRF_CLIENT | PRF_ERASEBKGND | PRF_CHILDREN);
                ::RestoreDC(HDC(wParam), nSaved);
            }
        }
        return 1;
    }
    return CMiniDockFrameWnd::WindowProc(nMessage, wParam, lParam);
}

void CExtMiniDockFrameWnd::OnPaintManagerInstalled(CExtPaintManager* pPM)
{
    if (m_hWnd == NULL)
        return;
    if (pPM == GetPaintManager())
    {
        SetWindowPos(NULL, 0, 0, 0, 0, kReframe);
        RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    }
    SetWindowPos(NULL, 0, 0, 0, 0, kReframe);
    RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_FRAME);
}

void CExtMiniDockFrameWnd::RelayChange(UINT nMessage, WPARAM wParam, LPARAM lParam)
{
    CExtPaintManager* pPM = GetPaintManager();
    g_CurrentPaintManager.RelaySystemChange(this, pPM, nMessage, wParam, lParam);
    Invalidate();
    if (nMessage == WM_SETTINGCHANGE || nMessage == WM_THEMECHANGED)
    {
        SetWindowPos(NULL, 0, 0, 0, 0, kReframe);
        RecalcLayout();
        GetPaintManager()->GetMiniFrameCaptionRect(m_rcFrameCaption, this);
        SetTimer(1, 1, NULL);
    }
}

void CExtMiniDockFrameWnd::OnSysColorChange()
{
    Default();
    RelayChange(WM_SYSCOLORCHANGE, 0, 0);
}

void CExtMiniDockFrameWnd::OnSettingChange(UINT uFlags, LPCTSTR lpszSection)
{
    Default();
    RelayChange(WM_SETTINGCHANGE, uFlags, reinterpret_cast<LPARAM>(lpszSection));
}

LRESULT CExtMiniDockFrameWnd::OnDisplayChange(WPARAM wParam, LPARAM lParam)
{
    const LRESULT lResult = Default();
    RelayChange(WM_DISPLAYCHANGE, wParam, lParam);
    return lResult;
}

LRESULT CExtMiniDockFrameWnd::OnThemeChanged(WPARAM wParam, LPARAM lParam)
{
    const LRESULT lResult = Default();
    RelayChange(WM_THEMECHANGED, wParam, lParam);
    return lResult;
}

// ---- non-client area ----------------------------------------------------------------

void CExtMiniDockFrameWnd::OnNcCalcSize(BOOL, NCCALCSIZE_PARAMS* lpncsp)
{
    if (lpncsp == NULL)
        return;
    RECT& rc = lpncsp->rgrc[0];
    rc.left += ::GetSystemMetrics(SM_CXFRAME);
    rc.right -= ::GetSystemMetrics(SM_CXFRAME);
    rc.top += ::GetSystemMetrics(SM_CYFRAME) + ::GetSystemMetrics(SM_CYSMCAPTION);
    rc.bottom -= ::GetSystemMetrics(SM_CYFRAME);
    if (rc.bottom < rc.top)
        rc.bottom = rc.top;
    if (rc.right < rc.left)
        rc.right = rc.left;
}

LRESULT CExtMiniDockFrameWnd::OnNcHitTest(CPoint point)
{
    if (CExtControlBar::GetDraggedBar() != NULL)
        return HTNOWHERE;
    if ((GetStyle() & MFS_MOVEFRAME) != 0)
        ModifyStyle(MFS_MOVEFRAME, 0);
    CRect rcWnd;
    GetWindowRect(&rcWnd);
    if (!rcWnd.PtInRect(point))
        return HTNOWHERE;
    const int F = ::GetSystemMetrics(SM_CXFRAME), G = ::GetSystemMetrics(SM_CYFRAME),
              C = ::GetSystemMetrics(SM_CYSMCAPTION);
    const int l = rcWnd.left, t = rcWnd.top, r = rcWnd.right, b = rcWnd.bottom;
    auto in = [&](int x1, int y1, int x2, int y2) { return CRect(x1, y1, x2, y2).PtInRect(point) != FALSE; };
    UINT nHT = HTCLIENT;
    if (in(l, t, r, t + G))
        nHT = in(l, t, l + C, t + G) ? HTTOPLEFT : in(r - G, t, r, t + G) ? HTTOPRIGHT : HTTOP;
    else if (in(l, b - G, r, b))
        nHT = in(l, b - G, l + C, b) ? HTBOTTOMLEFT : in(r - G, b - G, r, b) ? HTBOTTOMRIGHT : HTBOTTOM;
    else if (in(l, t, l + F, b))
        nHT = in(l, t, l + F, t + C) ? HTTOPLEFT : in(l, b - C, l + F, b) ? HTBOTTOMLEFT : HTLEFT;
    else if (in(r - F, t, r, b))
        nHT = in(r - F, t, r, t + C) ? HTTOPRIGHT : in(r - F, b - C, r, b) ? HTBOTTOMRIGHT : HTRIGHT;
    else if (in(l, t + G, r, t + G + C))
        nHT = HTCAPTION;
    CExtControlBar* pBar = GetControlBar();
    if (pBar == NULL)
        return nHT;
    CExtBarNcAreaButton* pBtn = NULL;
    const UINT nBtnHT = pBar->NcButtonsHitTest(point, &pBtn);
    if (pBtn == NULL || nBtnHT == HTCLIENT)
    {
        pBar->m_nInteractionFlags &= ~CExtControlBar::__EIF_NC_HOVER;
        CExtToolControlBar* pToolBar = DYNAMIC_DOWNCAST(CExtToolControlBar, pBar);
        if (pBar->IsFixedMode() && pToolBar != NULL && pToolBar->IsNoResize())
        {
            // Every border moves a bar that must keep its size.
            if (nHT >= HTLEFT && nHT <= HTBOTTOMRIGHT)
                nHT = HTCAPTION;
        }
        else if (pBar->IsFixedMode())
        {
            if (nHT == HTTOPLEFT || nHT == HTTOPRIGHT)
                nHT = HTTOP;
            else if (nHT == HTBOTTOMLEFT || nHT == HTBOTTOMRIGHT)
                nHT = HTBOTTOM;
        }
        SendMessage(WM_NCPAINT);
        return nHT;
    }
    pBar->m_nInteractionFlags |= CExtControlBar::__EIF_NC_HOVER;
    SetTimer(4, 20, NULL);
    return nBtnHT;
}

void CExtMiniDockFrameWnd::OnNcPaint()
{
    CWindowDC dcWnd(this);
    CRect rcWnd, rcClient;
    CExtControlBar::GetWindowAndClientRects(this, rcWnd, rcClient);
    dcWnd.ExcludeClipRect(&rcClient);
    CExtMemoryDC dc(&dcWnd, &rcWnd, CExtMemoryDC::MDCOPT_TO_MEMORY | CExtMemoryDC::MDCOPT_FILL_SURFACE);
    NcPaint(dc);
}

void CExtMiniDockFrameWnd::NcPaint(CDC& dc)
{
    CRect rcWnd, rcClient;
    CExtControlBar::GetWindowAndClientRects(this, rcWnd, rcClient);
    CExtPaintManager* pPM = GetPaintManager();
    CExtControlBar* pBar = GetControlBar();
    const bool bResizable = pBar != NULL && !pBar->IsFixedMode();
    const HWND hWndActive = ::GetActiveWindow();
    const bool bActive = hWndActive != NULL && (hWndActive == m_hWnd || ::IsChild(m_hWnd, hWndActive));
    CExtPaintManager::PAINTBARFRAMEDATA _pbfd(pBar != NULL ? static_cast<CObject*>(pBar) : this, rcWnd, rcClient,
                                              bActive, true, bResizable, false);
    pPM->DrawBarFrame(dc, _pbfd);

    CString sCaption;
    QueryCaptionText(sCaption);
    RECT rcCaption = m_rcFrameCaption;
    RECT rcText = rcCaption;
    if (pBar == NULL)
        rcText.right = m_rcBtnHideBar.left;
    else
        pBar->CalcCaptionTextRect(rcText);
    rcText.left += 2;
    rcText.right -= 2;
    CExtPaintManager::PAINTBARCAPTIONDATA _pbcd(pBar != NULL ? static_cast<CObject*>(pBar) : this, rcCaption, rcText,
                                                bActive, true, false, true, sCaption);
    pPM->DrawBarCaption(dc, _pbcd);
    if (pBar != NULL)
        pBar->DrawNcAreaButtons(dc);
}

BOOL CExtMiniDockFrameWnd::OnNcActivate(BOOL bActive)
{
    const BOOL bResult = CMiniDockFrameWnd::OnNcActivate(bActive);
    if ((GetStyle() & WS_VISIBLE) != 0)
        SendMessage(WM_NCPAINT);
    CControlBar* pBar = GetAnyControlBar();
    if (bActive && pBar != NULL && pBar->m_hWnd != NULL)
        pBar->RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    return bResult;
}

void CExtMiniDockFrameWnd::OnPaint()
{
    CPaintDC dcPaint(this);
    CRect rcClient;
    GetClientRect(&rcClient);
    if (rcClient.IsRectEmpty())
        return;
    CExtPaintManager::ClipOutChildren(&dcPaint, m_hWnd);
    CExtMemoryDC dc(&dcPaint, &rcClient, CExtMemoryDC::MDCOPT_TO_MEMORY | CExtMemoryDC::MDCOPT_FILL_SURFACE);
    CExtPaintManager* pPM = GetPaintManager();
    if (!(pPM->UsesParentBackground(this) && pPM->DrawWindowBackground(true, dc, this)))
        dc.FillSolidRect(&rcClient, pPM->LookupColor(CExtPaintManager::CLR_3DFACE_OUT, this));
}

BOOL CExtMiniDockFrameWnd::OnEraseBkgnd(CDC*) { return TRUE; }

void CExtMiniDockFrameWnd::OnSize(UINT nType, int cx, int cy)
{
    CRect rcWnd;
    GetWindowRect(&rcWnd);
    const CRect rcWork = WorkAreaOf(rcWnd);
    CRect rcInter;
    const bool bFits = rcWork.IsRectEmpty() ||
                       (rcWnd.Width() <= rcWork.Width() && rcWnd.Height() <= rcWork.Height() &&
                        rcInter.IntersectRect(&rcWnd, &rcWork) && rcInter == rcWnd);
    if (!bFits)
    {
        if (!m_bResizingByCode)
            SetTimer(5, 1, NULL);
        return;
    }
    CMiniDockFrameWnd::OnSize(nType, cx, cy);
    GetPaintManager()->GetMiniFrameCaptionRect(m_rcFrameCaption, this);
    m_rcBtnHideBar = CRect(m_rcFrameCaption.right - ::GetSystemMetrics(SM_CXSMSIZE), m_rcFrameCaption.top + 2,
                           m_rcFrameCaption.right - 3, m_rcFrameCaption.bottom - 2);
    CExtControlBar* pBar = GetControlBar();
    if (pBar != NULL)
    {
        pBar->CreateNcAreaButtons();
        pBar->LayoutNcAreaButtons();
    }
    CExtPaintManager::PumpPaintMessages();
}

void CExtMiniDockFrameWnd::OnCancelMode()
{
    CMiniDockFrameWnd::OnCancelMode();
    CExtPopupMenuWnd::CancelMenuTracking();
    if (IsResizing())
        EndResizing();
}

void CExtMiniDockFrameWnd::OnGetMinMaxInfo(MINMAXINFO* lpMMI)
{
    CMiniDockFrameWnd::OnGetMinMaxInfo(lpMMI);
    if (lpMMI == NULL)
        return;
    CRect rcWnd;
    GetWindowRect(&rcWnd);
    const CRect rcWork = WorkAreaOf(rcWnd);
    if (!rcWork.IsRectEmpty())
    {
        lpMMI->ptMaxTrackSize.x = std::min(lpMMI->ptMaxTrackSize.x, LONG(rcWork.Width()));
        lpMMI->ptMaxTrackSize.y = std::min(lpMMI->ptMaxTrackSize.y, LONG(rcWork.Height()));
    }
}

void CExtMiniDockFrameWnd::OnWindowPosChanging(WINDOWPOS* lpWndPos)
{
    CMiniDockFrameWnd::OnWindowPosChanging(lpWndPos);
    // The system frame never comes back.
    if ((GetStyle() & kSystemFrameStyles) != 0 || (GetExStyle() & kSystemFrameExStyles) != 0)
    {
        ::SetWindowLong(m_hWnd, GWL_STYLE, ::GetWindowLong(m_hWnd, GWL_STYLE) & ~LONG(kSystemFrameStyles));
        ::SetWindowLong(m_hWnd, GWL_EXSTYLE, ::GetWindowLong(m_hWnd, GWL_EXSTYLE) & ~LONG(kSystemFrameExStyles));
        if (lpWndPos != NULL)
            lpWndPos->flags |= SWP_FRAMECHANGED;
    }
}

void CExtMiniDockFrameWnd::OnWindowPosChanged(WINDOWPOS* lpWndPos)
{
    CMiniDockFrameWnd::OnWindowPosChanged(lpWndPos);
    static bool s_bInside = false;
    if (s_bInside || lpWndPos == NULL || (lpWndPos->flags & SWP_NOMOVE) != 0 || IsResizing())
        return;
    CExtControlBar* pBar = GetControlBar();
    if (pBar == NULL)
        return;
    s_bInside = true;
    CRect rcWnd;
    GetWindowRect(&rcWnd);
    const CRect rcWork = WorkAreaOf(rcWnd);
    const int C = ::GetSystemMetrics(SM_CYSMCAPTION);
    int y = rcWnd.top;
    if (!rcWork.IsRectEmpty())
    {
        if (rcWnd.bottom <= rcWork.top)
            y = rcWork.top;
        else if (rcWnd.top + C > rcWork.bottom)
            y = std::max(LONG(rcWork.bottom - C), rcWork.top);
    }
    if (y != rcWnd.top)
        SetWindowPos(NULL, rcWnd.left, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    pBar->LayoutNcAreaButtons();
    PostMessage(WM_NCPAINT);
    CExtPaintManager::PumpPaintMessages();
    s_bInside = false;
}

CRect CExtMiniDockFrameWnd::WorkAreaOf(const RECT& rc) const
{
    CRect rcWork;
    rcWork.SetRectEmpty();
    MONITORINFO mi;
    mi.cbSize = sizeof(mi);
    HMONITOR hMon = ::MonitorFromRect(&rc, MONITOR_DEFAULTTONEAREST);
    if (hMon != NULL && ::GetMonitorInfo(hMon, &mi))
        rcWork = mi.rcWork;
    return rcWork;
}

void CExtMiniDockFrameWnd::FitIntoWorkArea()
{
    if (g_bFittingWorkArea)
        return;
    g_bFittingWorkArea = true;
    m_bResizingByCode = true;
    CRect rcWnd;
    GetWindowRect(&rcWnd);
    const CRect rcWork = WorkAreaOf(rcWnd);
    if (!rcWork.IsRectEmpty())
    {
        const int cx = std::min(rcWnd.Width(), rcWork.Width()), cy = std::min(rcWnd.Height(), rcWork.Height());
        if (cx != rcWnd.Width() || cy != rcWnd.Height())
        {
            SetWindowPos(NULL, 0, 0, cx, cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
            SendMessage(WM_NCPAINT);
            rcWnd.right = rcWnd.left + cx;
            rcWnd.bottom = rcWnd.top + cy;
        }
        CPoint pt = rcWnd.TopLeft();
        if (rcWnd.right < rcWork.left)
            pt.x = rcWork.left;
        if (rcWnd.bottom < rcWork.top)
            pt.y = rcWork.top;
        if (rcWnd.left > rcWork.right)
            pt.x = rcWork.right - cx;
        if (rcWnd.top > rcWork.bottom)
            pt.y = rcWork.bottom - cy;
        if (pt != rcWnd.TopLeft())
        {
            SetWindowPos(NULL, pt.x, pt.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
            SendMessage(WM_NCPAINT);
        }
    }
    m_bResizingByCode = false;
    g_bFittingWorkArea = false;
}

void CExtMiniDockFrameWnd::QueryCaptionText(CString& sCaption)
{
    sCaption.Empty();
    CExtControlBar* pBar = GetControlBar();
    if (pBar == NULL)
    {
        GetWindowText(sCaption);
        return;
    }
    if (!CExtPaintManagerHolder::IsKindOfByName(pBar, "CExtDynControlBar"))
    {
        pBar->OnGetBarCaptionText(1, sCaption);
        return;
    }
    // A container shows the caption of its first visible resizable bar floating here.
    for (INT_PTR i = 0; i < CExtControlBar::g_AllBars.GetSize() && sCaption.IsEmpty(); i++)
    {
        CExtControlBar* p = CExtControlBar::g_AllBars[i];
        if (p != pBar && p->m_hWnd != NULL && p->GetParentFrame() == this && !p->IsFixedMode() && p->IsVisible() &&
            !CExtPaintManagerHolder::IsKindOfByName(p, "CExtDynControlBar") && p->GetTabbedContainer() == NULL)
            p->OnGetBarCaptionText(1, sCaption);
    }
    // A floating tabbed group holds only pages, which that search skips: the group's own
    // caption (its selected page's) names the frame instead of leaving it blank.
    if (sCaption.IsEmpty() && CExtPaintManagerHolder::IsKindOfByName(pBar, "CExtDynTabControlBar"))
        pBar->OnGetBarCaptionText(1, sCaption);
}
