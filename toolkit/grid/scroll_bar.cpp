#include "toolkit/grid/scroll_bar.h"

#include <algorithm>
#include "toolkit/grid/scroll_item_wnd.h"
#include "toolkit/dialogs/memory_dc.h"
#include "toolkit/menus/popup_menu_wnd.h"
#include "toolkit/theme/pm_scroll_bar.h"

typedef CExtPaintManager::PAINTSCROLLBARDATA PAINTSCROLLBARDATA;

IMPLEMENT_DYNCREATE(CExtScrollBar, CScrollBar)

BEGIN_MESSAGE_MAP(CExtScrollBar, CScrollBar)
    ON_MESSAGE(WM_ERASEBKGND, OnEraseBkgndMsg)
    ON_MESSAGE(WM_PAINT, OnPaintMsg)
    ON_MESSAGE(WM_WINDOWPOSCHANGING, OnThemedOnly)
    ON_MESSAGE(WM_WINDOWPOSCHANGED, OnPosChanged)
    ON_MESSAGE(WM_SIZE, OnPosChanged)
    ON_MESSAGE(WM_NCCALCSIZE, OnThemedOnly)
    ON_MESSAGE(WM_CONTEXTMENU, OnThemedOnly)
    ON_MESSAGE(WM_MOUSEACTIVATE, OnMouseActivateMsg)
    ON_MESSAGE(WM_ENABLE, OnEnableMsg)
    ON_MESSAGE(WM_CANCELMODE, OnCancelModeMsg)
    ON_MESSAGE(WM_CAPTURECHANGED, OnCaptureChangedMsg)
    ON_MESSAGE(WM_SETCURSOR, OnSetCursorMsg)
    ON_MESSAGE(WM_MOUSEMOVE, OnMouseMoveMsg)
    ON_MESSAGE(WM_LBUTTONDOWN, OnLButtonDownMsg)
    ON_MESSAGE(WM_LBUTTONUP, OnThemedOnly)
    ON_MESSAGE(WM_LBUTTONDBLCLK, OnThemedOnly)
    ON_MESSAGE(WM_MBUTTONDOWN, OnThemedOnly)
    ON_MESSAGE(WM_MBUTTONUP, OnThemedOnly)
    ON_MESSAGE(WM_MBUTTONDBLCLK, OnThemedOnly)
    ON_MESSAGE(WM_RBUTTONDOWN, OnThemedOnly)
    ON_MESSAGE(WM_RBUTTONUP, OnThemedOnly)
    ON_MESSAGE(WM_RBUTTONDBLCLK, OnThemedOnly)
    ON_MESSAGE(WM_NCHITTEST, OnNcHitTestMsg)
    ON_MESSAGE(WM_SETTINGCHANGE, OnSettingChangeMsg)
    ON_MESSAGE(WM_SIZEPARENT, OnSizeParent)
END_MESSAGE_MAP()

CExtScrollBar::CExtScrollBar()
    : m_nBarKind(4),
      m_bAutoDelete(false),
      m_bSizeParentLayout(true),
      m_bNoCornerDetection(false),
      m_bThemeBackgroundFlag(true),
      m_bCornerAtStart(false),
      m_bCornerAtEnd(false),
      m_bThemedLook(true),
      m_bBufferedPaint(true),
      m_bHideAttachedStart(false),
      m_bHideAttachedEnd(false),
      m_hWndAttachedStart(NULL),
      m_hWndAttachedEnd(NULL),
      m_nHorzBarHeight(0),
      m_nVertBarWidth(0),
      m_nHorzButtonWidth(0),
      m_nVertButtonHeight(0),
      m_nHorzThumbMin(0),
      m_nVertThumbMin(0),
      m_bTracking(false),
      m_bPressedPartOut(false),
      m_bHoverCapture(false),
      m_bCancelling(false),
      m_bTrackPosValid(false),
      m_nHoverPart(-1),
      m_nTrackPos(-1)
{
    RegisterWithHolder();
}

CExtScrollBar::~CExtScrollBar() { UnregisterFromHolder(); }

void CExtScrollBar::RegisterWithHolder() { g_CurrentPaintManager.RegisterBridge(this); }
void CExtScrollBar::UnregisterFromHolder() { g_CurrentPaintManager.UnregisterBridge(this); }
HWND CExtScrollBar::GetBridgeHwnd() { return m_hWnd; }
CExtPaintManager* CExtScrollBar::GetPaintManager() { return g_CurrentPaintManager.GetPM(); }

namespace {
const UINT g_nReframeFlags = SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE |
                             SWP_FRAMECHANGED | SWP_NOOWNERZORDER;
}

void CExtScrollBar::OnPaintManagerInstalled(CExtPaintManager* pPM)
{
    CExtPmBridge::OnPaintManagerInstalled(pPM);
    if (!m_bThemedLook)
        return;
    UpdateMetrics();
    if (::IsWindow(m_hWnd))
    {
        ::SetWindowPos(m_hWnd, NULL, 0, 0, 0, 0, g_nReframeFlags);
        ::InvalidateRect(m_hWnd, NULL, TRUE);
    }
}

void CExtScrollBar::UpdateMetrics()
{
    if (m_bThemedLook)
    {
        CExtPaintManager* pPM = GetPaintManager();
        if (pPM != NULL &&
            pPM->GetScrollBarMetrics(&m_nHorzBarHeight, &m_nVertBarWidth, &m_nHorzButtonWidth,
                                     &m_nVertButtonHeight, &m_nHorzThumbMin, &m_nVertThumbMin))
            return;
    }
    m_nHorzBarHeight = ::GetSystemMetrics(SM_CYHSCROLL);
    m_nVertBarWidth = ::GetSystemMetrics(SM_CXVSCROLL);
    m_nHorzButtonWidth = ::GetSystemMetrics(SM_CXHSCROLL);
    m_nVertButtonHeight = ::GetSystemMetrics(SM_CYVSCROLL);
    m_nHorzThumbMin = 9;
    m_nVertThumbMin = 9;
}

// ---- small virtual operations -----------------------------------------------------

int CExtScrollBar::GetBarKind() const
{
    if (m_nBarKind != 4)
        return m_nBarKind;
    const DWORD dwStyle = (m_hWnd != NULL) ? (DWORD)::GetWindowLong(m_hWnd, GWL_STYLE) : 0;
    if ((dwStyle & 3) == 2)
        return 0;
    if ((dwStyle & 5) == 4)
        return 1;
    if ((dwStyle & 3) == 3)
        return 2;
    if ((dwStyle & 5) == 5)
        return 3;
    return (dwStyle & SBS_VERT) != 0 ? 3 : 1;
}

bool CExtScrollBar::IsRedrawMessage(UINT nMsg) const
{
    if (!m_bThemedLook)
        return false;
    return nMsg == SBM_SETPOS || nMsg == SBM_SETRANGE || nMsg == SBM_ENABLE_ARROWS ||
           nMsg == SBM_SETRANGEREDRAW || nMsg == SBM_SETSCROLLINFO;
}

int CExtScrollBar::GetScrollPosEx(bool bTrackPos)
{
    SCROLLINFO si;
    ::memset(&si, 0, sizeof(si));
    si.cbSize = sizeof(si);
    si.fMask = bTrackPos ? SIF_TRACKPOS : SIF_POS;
    if (::IsWindow(m_hWnd) && ::SendMessage(m_hWnd, SBM_GETSCROLLINFO, 0, (LPARAM)&si))
        return bTrackPos ? si.nTrackPos : si.nPos;
    return ::IsWindow(m_hWnd) ? ::GetScrollPos(m_hWnd, SB_CTL) : 0;
}

void CExtScrollBar::ScrollToPos(int nPos, bool bTrackPos, bool bRedraw)
{
    PAINTSCROLLBARDATA rec(this, false, -1, 0);
    m_nTrackPos = nPos;
    SCROLLINFO si;
    ::memset(&si, 0, sizeof(si));
    si.cbSize = sizeof(si);
    if (bTrackPos)
    {
        si.fMask = SIF_TRACKPOS;
        si.nTrackPos = nPos;
    }
    else
    {
        si.fMask = SIF_POS;
        si.nPos = nPos;
    }
    ::SendMessage(m_hWnd, SBM_SETSCROLLINFO, bRedraw ? TRUE : FALSE, (LPARAM)&si);
    HWND hWndParent = ::GetParent(m_hWnd);
    if (!rec.m_bEnabled || hWndParent == NULL)
        return;
    const WORD nCode = (WORD)(bTrackPos ? SB_THUMBTRACK : SB_THUMBPOSITION);
    ::SendMessage(hWndParent, rec.m_bHorzBar ? WM_HSCROLL : WM_VSCROLL,
                  MAKEWPARAM(nCode, (WORD)nPos), (LPARAM)m_hWnd);
}

void CExtScrollBar::UpdateCornerFlags(CExtScrollBar* pOther)
{
    if (pOther == NULL || m_hWnd == NULL || pOther->m_hWnd == NULL ||
        ::GetWindow(m_hWnd, GW_HWNDNEXT) != pOther->m_hWnd)
        return;
    m_bCornerAtStart = m_bCornerAtEnd = false;
    pOther->m_bCornerAtStart = pOther->m_bCornerAtEnd = false;
    if (m_bNoCornerDetection || !::IsWindowVisible(m_hWnd) || !::IsWindowVisible(pOther->m_hWnd))
        return;
    const int k = GetBarKind(), o = pOther->GetBarKind();
    if (k <= 1)
    {
        m_bCornerAtStart = (o == 2);
        m_bCornerAtEnd = (o == 3);
    }
    else
    {
        m_bCornerAtStart = (o == 0);
        m_bCornerAtEnd = (o == 1);
    }
}

// ---- window plumbing --------------------------------------------------------------

void CExtScrollBar::ResetState()
{
    m_bTracking = m_bPressedPartOut = m_bHoverCapture = m_bCancelling = m_bTrackPosValid = false;
    m_nHoverPart = -1;
    m_nTrackPos = -1;
}

void CExtScrollBar::PreSubclassWindow()
{
    CScrollBar::PreSubclassWindow();
    ResetState();
    UpdateMetrics();
}

void CExtScrollBar::PostNcDestroy()
{
    ResetState();
    if (m_bAutoDelete)
        delete this;
}

LRESULT CExtScrollBar::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    return CScrollBar::DefWindowProc(message, wParam, lParam);
}

LRESULT CExtScrollBar::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    const HWND hWnd = m_hWnd;
    // The system would paint its own look on these: hold its drawing back and repaint.
    bool bRedrawOff = false;
    if (::IsWindow(hWnd) && m_bThemedLook && IsRedrawMessage(message) &&
        ::IsWindowVisible(hWnd))
    {
        ::SendMessage(hWnd, WM_SETREDRAW, FALSE, 0);
        bRedrawOff = true;
    }
    LRESULT lResult = CScrollBar::WindowProc(message, wParam, lParam);
    if (message == SBM_GETSCROLLINFO && m_bThemedLook && lResult != 0 && lParam != 0)
    {
        SCROLLINFO* pInfo = (SCROLLINFO*)lParam;
        if (pInfo->cbSize == sizeof(SCROLLINFO) && (pInfo->fMask & SIF_TRACKPOS) != 0 &&
            m_bTrackPosValid)
            pInfo->nTrackPos = m_nTrackPos;
    }
    if (bRedrawOff && ::IsWindow(hWnd) && CWnd::FromHandlePermanent(hWnd) == this)
    {
        ::SendMessage(hWnd, WM_SETREDRAW, TRUE, 0);
        if (::IsWindowVisible(hWnd))
        {
            ::InvalidateRect(hWnd, NULL, TRUE);
            ::UpdateWindow(hWnd);
        }
    }
    return lResult;
}

void CExtScrollBar::InvalidateAndUpdate()
{
    if (!::IsWindow(m_hWnd))
        return;
    ::InvalidateRect(m_hWnd, NULL, TRUE);
    ::UpdateWindow(m_hWnd);
}

// ---- messages ---------------------------------------------------------------------

LRESULT CExtScrollBar::OnEraseBkgndMsg(WPARAM, LPARAM)
{
    if (m_bThemedLook || m_bBufferedPaint)
        return TRUE;
    return Default();
}

LRESULT CExtScrollBar::OnPaintMsg(WPARAM, LPARAM)
{
    if (!m_bThemedLook && !m_bBufferedPaint)
        return Default();
    CPaintDC dcPaint(this);
    CRect rcClient;
    GetClientRect(&rcClient);
    CExtMemoryDC dc(&dcPaint, &rcClient, CExtMemoryDC::MDCOPT_DEFAULT);
    if (!m_bThemedLook)
    {
        CScrollBar::DefWindowProc(WM_PAINT, (WPARAM)dc.GetSafeHdc(), 0);
        return 0;
    }
    PAINTSCROLLBARDATA rec(this, false, -1, 0);
    rec.m_bAlwaysSet = m_bThemeBackgroundFlag;
    if (rec.m_bEnabled)
    {
        rec.m_eHoverPart = m_nHoverPart;
        rec.m_bHoveredAreaIsPressed = m_bTracking && !m_bPressedPartOut;
    }
    CExtPaintManager* pPM = GetPaintManager();
    if (pPM != NULL)
        pPM->DrawScrollBar(dc, rec);
    return 0;
}

LRESULT CExtScrollBar::OnThemedOnly(WPARAM, LPARAM)
{
    if (!m_bThemedLook)
        return Default();
    return 0;
}

LRESULT CExtScrollBar::OnPosChanged(WPARAM, LPARAM)
{
    if (!m_bThemedLook)
        return Default();
    if (::IsWindowVisible(m_hWnd))
        InvalidateAndUpdate();
    return 0;
}

LRESULT CExtScrollBar::OnMouseActivateMsg(WPARAM, LPARAM)
{
    return m_bThemedLook ? MA_ACTIVATE : Default();
}

LRESULT CExtScrollBar::OnEnableMsg(WPARAM, LPARAM)
{
    LRESULT lResult = Default();
    if (m_bThemedLook && ::IsWindowVisible(m_hWnd))
        InvalidateAndUpdate();
    return lResult;
}

LRESULT CExtScrollBar::OnCancelModeMsg(WPARAM, LPARAM)
{
    if (!m_bThemedLook)
        return Default();
    if (m_bCancelling)
        return 0;
    m_bCancelling = true;
    m_bTracking = m_bPressedPartOut = m_bHoverCapture = false;
    m_nHoverPart = -1;
    if (::GetCapture() == m_hWnd)
        ::ReleaseCapture();
    InvalidateAndUpdate();
    m_bCancelling = false;
    return 0;
}

LRESULT CExtScrollBar::OnCaptureChangedMsg(WPARAM, LPARAM lParam)
{
    if (!m_bThemedLook)
        return Default();
    if ((HWND)lParam != m_hWnd)
        ::SendMessage(m_hWnd, WM_CANCELMODE, 0, 0);
    return 0;
}

LRESULT CExtScrollBar::OnSetCursorMsg(WPARAM, LPARAM)
{
    if (!m_bThemedLook)
        return Default();
    ::SetCursor(::LoadCursor(NULL, IDC_ARROW));
    return TRUE;
}

LRESULT CExtScrollBar::OnMouseMoveMsg(WPARAM, LPARAM lParam)
{
    if (!m_bThemedLook)
        return Default();
    if (m_bTracking)
        return 0;
    POINT ptScreen;
    ::GetCursorPos(&ptScreen);
    if (m_bHoverCapture && ::WindowFromPoint(ptScreen) != m_hWnd)
    {
        m_bHoverCapture = false;
        m_nHoverPart = -1;
        InvalidateAndUpdate();
        if (::GetCapture() == m_hWnd)
            ::SendMessage(m_hWnd, WM_CANCELMODE, 0, 0);
        return 0;
    }
    m_bHoverCapture = true;
    PAINTSCROLLBARDATA rec(this, false, -1, 0);
    CPoint pt((short)LOWORD(lParam), (short)HIWORD(lParam));
    const int nPart = rec.TrackHoverPart(pt);
    if (nPart != m_nHoverPart)
    {
        m_nHoverPart = nPart;
        InvalidateAndUpdate();
    }
    if (::GetCapture() != m_hWnd)
        ::SetCapture(m_hWnd);
    return 0;
}

LRESULT CExtScrollBar::OnLButtonDownMsg(WPARAM, LPARAM lParam)
{
    if (!m_bThemedLook)
        return Default();
    TrackThumbOrPart(CPoint((short)LOWORD(lParam), (short)HIWORD(lParam)));
    return 0;
}

LRESULT CExtScrollBar::OnNcHitTestMsg(WPARAM, LPARAM)
{
    return m_bThemedLook ? HTCLIENT : Default();
}

LRESULT CExtScrollBar::OnSettingChangeMsg(WPARAM, LPARAM)
{
    LRESULT lResult = Default();
    UpdateMetrics();
    return lResult;
}

// ---- tracking ---------------------------------------------------------------------

bool CExtScrollBar::IsTrackUnbounded(bool bHorz) const
{
    CWnd* pParent = CWnd::FromHandlePermanent(::GetParent(m_hWnd));
    if (pParent == NULL || !pParent->IsKindOf(RUNTIME_CLASS(CExtScrollItemWnd)))
        return false;
    CExtScrollItemWnd* pItemWnd = static_cast<CExtScrollItemWnd*>(pParent);
    return (bHorz ? pItemWnd->GetScrollTypeH() : pItemWnd->GetScrollTypeV()) == 3;
}

namespace {

// Whether a message the tracking loop peeks at ends it (the message stays queued).
bool IsTrackEndMessage(const MSG& msg, HWND hWndBar)
{
    switch (msg.message)
    {
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
    case WM_MBUTTONDBLCLK:
    case WM_ACTIVATEAPP:
    case WM_CANCELMODE:
    case WM_KEYDOWN:
    case WM_KEYUP:
        return true;
    case WM_CAPTURECHANGED:
        return (HWND)msg.lParam != hWndBar;
    default:
        return false;
    }
}

bool AreTrackButtonsStillRight()
{
    return (::GetAsyncKeyState(VK_LBUTTON) & 0x8000) != 0 &&
           (::GetAsyncKeyState(VK_MBUTTON) & 0x8000) == 0 &&
           (::GetAsyncKeyState(VK_RBUTTON) & 0x8000) == 0 && !CExtPopupMenuWnd::IsMenuTracking();
}

}  // namespace

// The track state of one press, in the bar's own positions nMin ... nMin + L.
struct CExtScrollBar::TRACK_STATE
{
    bool bHorz;
    bool bUnbounded;
    int nPart;
    int nMin;
    int nMax;
    int nLimit;  // L: the number of positions past nMin
    int nLow;    // nMin
    int nHigh;   // nMin + L
    int nStep;
    int p0;
    int p;
    bool bFinal;
    POINT ptStart;
    RECT rcPart;
    RECT rcTrack;
    RECT rcThumb;
};


bool CExtScrollBar::TrackBegin(CPoint point, TRACK_STATE& ts)
{
    PAINTSCROLLBARDATA rec(this, false, -1, 0);
    ts.nPart = rec.TrackHoverPart(point);
    if (!rec.m_bEnabled || ts.nPart < 0)
    {
        ::SendMessage(m_hWnd, WM_CANCELMODE, 0, 0);
        return false;
    }
    m_nHoverPart = ts.nPart;
    m_bTracking = m_bHoverCapture = true;
    m_bPressedPartOut = false;
    InvalidateAndUpdate();
    m_bTrackPosValid = true;
    ts.p0 = ts.p = m_nTrackPos = rec.m_DSI.nPos;
    rec.GetHoverPartRect(ts.rcPart);
    ts.bHorz = rec.m_bHorzBar;
    ts.nMin = rec.m_DSI.nMin;
    ts.nMax = rec.m_DSI.nMax;
    const int nPage = (int)rec.m_DSI.nPage;
    // A page of n positions leaves n - 1 of the range unreachable; no page, none.
    const LONGLONG nLimit = (LONGLONG)ts.nMax - ts.nMin - (nPage > 0 ? nPage - 1 : 0);
    ts.nLimit = (int)(nLimit < 0 ? 0 : (nLimit > 0x7FFFFFFF ? 0x7FFFFFFF : nLimit));
    switch (ts.nPart)
    {
    case 1:
    case 2: ts.nStep = 1; break;
    case 4:
    case 5: ts.nStep = nPage > 0 ? nPage : 1; break;
    default: ts.nStep = 0; break;
    }
    if (ts.nStep > ts.nLimit)
        ts.nStep = ts.nLimit;
    ts.rcTrack = rec.m_rcBar;
    if (ts.bHorz)
    {
        ts.rcTrack.left = rec.m_rcFirstArrow.right;
        ts.rcTrack.right = rec.m_rcSecondArrow.left;
    }
    else
    {
        ts.rcTrack.top = rec.m_rcFirstArrow.bottom;
        ts.rcTrack.bottom = rec.m_rcSecondArrow.top;
    }
    ts.rcThumb = rec.m_rcThumb;
    ts.bUnbounded = IsTrackUnbounded(ts.bHorz);
    ts.bFinal = true;
    ts.ptStart = point;
    ts.nLow = ts.nMin;
    ts.nHigh = (int)std::min<LONGLONG>((LONGLONG)ts.nMin + ts.nLimit, 0x7FFFFFFF);
    return true;
}

bool CExtScrollBar::TrackDragThumb(TRACK_STATE& ts, const POINT& pt)
{
    const int nTrackLen = ts.bHorz ? ts.rcTrack.right - ts.rcTrack.left : ts.rcTrack.bottom - ts.rcTrack.top;
    const int nThumbLen = ts.bHorz ? ts.rcThumb.right - ts.rcThumb.left : ts.rcThumb.bottom - ts.rcThumb.top;
    const int T = nTrackLen - nThumbLen;
    if (T < 1)
        return false;
    int d = ts.bHorz ? pt.x - ts.ptStart.x : pt.y - ts.ptStart.y;
    d = std::max(-T, std::min(d, T));
    if (d < 0)
    {
        const int nDelta = ::MulDiv(ts.nLimit, -d, T);
        ts.p = (nDelta > ts.p0 - ts.nLow) ? ts.nLow : ts.p0 - nDelta;
    }
    else
    {
        const int nDelta = ::MulDiv(ts.nLimit, d, T);
        ts.p = (nDelta > ts.nHigh - ts.p0) ? ts.nHigh : ts.p0 + nDelta;
    }
    // An unbounded axis only jumps to its start or its end.
    const bool bApply = !ts.bUnbounded || ts.p == ts.nMin || ts.p >= ts.nMax - 200000;
    if (bApply && GetScrollPosEx(true) != ts.p)
    {
        ScrollToPos(ts.p, true, true);
        ts.bFinal = true;
    }
    if (!::IsWindow(m_hWnd))
        return false;
    PAINTSCROLLBARDATA rec(this, false, -1, 0);
    rec.TrackHoverPart(pt);
    rec.PartRect(ts.rcThumb, 3);
    return true;
}

bool CExtScrollBar::TrackStep(TRACK_STATE& ts, const POINT& pt)
{
    const HWND hWnd = m_hWnd;
    if (!::PtInRect(&ts.rcPart, pt))
    {
        if (!m_bPressedPartOut)
        {
            m_bPressedPartOut = true;
            InvalidateAndUpdate();
        }
        return true;
    }
    const bool bBack = ts.nPart == 1 || ts.nPart == 4;
    if ((bBack && ts.p <= ts.nLow) || (!bBack && ts.p >= ts.nHigh))
    {
        ts.p = GetScrollPosEx(true);
        return true;
    }
    if (bBack)
        ts.p = (ts.nStep > ts.p - ts.nLow) ? ts.nLow : ts.p - ts.nStep;
    else
        ts.p = (ts.nStep > ts.nHigh - ts.p) ? ts.nHigh : ts.p + ts.nStep;
    if (GetScrollPosEx(true) != ts.p)
    {
        static const WORD s_arrCodes[6] = {0, SB_LINEUP, SB_LINEDOWN, 0, SB_PAGEUP, SB_PAGEDOWN};
        ::SendMessage(::GetParent(hWnd), ts.bHorz ? WM_HSCROLL : WM_VSCROLL,
                      MAKEWPARAM(s_arrCodes[ts.nPart], 0), (LPARAM)hWnd);
        if (!::IsWindow(hWnd))
            return false;
        if (!ts.bUnbounded)
            ScrollToPos(ts.p, true, true);
        else
            ts.bFinal = false;
    }
    if (!::IsWindow(hWnd))
        return false;
    // The pressed look follows whether the pressed part is still under the cursor.
    PAINTSCROLLBARDATA rec(this, false, -1, 0);
    const bool bOut = rec.TrackHoverPart(pt) != ts.nPart;
    if (bOut != (bool)m_bPressedPartOut)
    {
        m_bPressedPartOut = bOut;
        InvalidateAndUpdate();
    }
    rec.PartRect(ts.rcPart, ts.nPart);
    return true;
}

void CExtScrollBar::TrackEnd(TRACK_STATE& ts, bool bTimer)
{
    const HWND hWnd = m_hWnd;
    if (bTimer)
        ::KillTimer(hWnd, __AUTO_REPEAT_TIMER_ID);
    m_bTracking = m_bPressedPartOut = m_bHoverCapture = false;
    m_nHoverPart = -1;
    if (ts.bFinal && GetScrollPosEx(false) != ts.p)
        ScrollToPos(ts.p, false, true);
    InvalidateAndUpdate();
    m_bTrackPosValid = false;
    m_nTrackPos = -1;
    if (::GetCapture() == hWnd)
        ::ReleaseCapture();
}

void CExtScrollBar::TrackThumbOrPart(CPoint point)
{
    const HWND hWnd = m_hWnd;
    TRACK_STATE ts;
    if (!TrackBegin(point, ts))
        return;
    ::SetCapture(hWnd);
    const bool bTimer = ts.nStep != 0;
    if (bTimer)
        ::SetTimer(hWnd, __AUTO_REPEAT_TIMER_ID, __AUTO_REPEAT_PERIOD, NULL);
    for (;;)
    {
        if (!::IsWindow(hWnd))
            break;
        MSG msg;
        if (!::PeekMessage(&msg, NULL, 0, 0, PM_NOREMOVE))
        {
            ::WaitMessage();
            continue;
        }
        if (ts.nLimit == 0 || IsTrackEndMessage(msg, hWnd) || !AreTrackButtonsStillRight())
            break;
        const bool bThumbMove = msg.message == WM_MOUSEMOVE && ts.nPart == 3;
        const bool bStepMsg = (msg.message == WM_MOUSEMOVE && ts.nStep != 0) ||
                              (msg.message == WM_TIMER && msg.hwnd == hWnd && msg.wParam == __AUTO_REPEAT_TIMER_ID);
        if (!bThumbMove && !bStepMsg)
        {
            if (!::AfxPumpMessage())
            {
                ::PostQuitMessage((int)msg.wParam);
                break;
            }
            continue;
        }
        ::PeekMessage(&msg, msg.hwnd, msg.message, msg.message, PM_REMOVE);
        POINT pt;
        ::GetCursorPos(&pt);
        ::ScreenToClient(hWnd, &pt);
        if (!(bThumbMove ? TrackDragThumb(ts, pt) : TrackStep(ts, pt)))
            break;
    }
    if (::IsWindow(hWnd))
        TrackEnd(ts, bTimer);
}

// ---- parent layout ----------------------------------------------------------------

namespace {

// Where an attached window goes, and whether it fits at all.
struct AttachedPlan
{
    HWND hWnd;
    bool bHideFlag;
    bool bVisible;
    bool bNoRoom;
    RECT rcOld;
    RECT rcNew;
};

void ReadAttached(AttachedPlan& a, HWND hWndParent)
{
    a.bVisible = a.bNoRoom = false;
    ::SetRectEmpty(&a.rcOld);
    a.rcNew = a.rcOld;
    if (a.hWnd == NULL || !::IsWindow(a.hWnd))
    {
        a.hWnd = NULL;
        return;
    }
    a.bVisible = ::IsWindowVisible(a.hWnd) != FALSE;
    if (a.bHideFlag)
        return;
    ::GetWindowRect(a.hWnd, &a.rcOld);
    ::MapWindowPoints(NULL, hWndParent, (POINT*)&a.rcOld, 2);
    if ((::GetWindowLong(a.hWnd, GWL_EXSTYLE) & WS_EX_LAYOUTRTL) != 0)
        std::swap(a.rcOld.left, a.rcOld.right);
    a.rcNew = a.rcOld;
}

// The attached window keeps its length along the bar and takes the bar's thickness across
// it; it sits at the bar's start or end (bAtEnd), and the bar gives up that length unless
// less than nMinLen of the bar would be left (bNoRoom). The same steps serve both
// orientations through the edges along and across the bar.
void PlaceAttached(AttachedPlan& a, RECT& rcBar, bool bHorz, bool bAtEnd, int nMinLen, int nThickness)
{
    if (a.hWnd == NULL || a.bHideFlag)
        return;
    LONG RECT::*pStart = bHorz ? &RECT::left : &RECT::top;
    LONG RECT::*pEnd = bHorz ? &RECT::right : &RECT::bottom;
    LONG RECT::*pAcrossStart = bHorz ? &RECT::top : &RECT::left;
    LONG RECT::*pAcrossEnd = bHorz ? &RECT::bottom : &RECT::right;
    RECT rc = a.rcOld;
    const int nLength = rc.*pEnd - rc.*pStart;
    rc.*pAcrossStart = rcBar.*pAcrossStart;
    if (bAtEnd)
    {
        rc.*pEnd = rcBar.*pEnd;
        rc.*pStart = rc.*pEnd - nLength;
        a.bNoRoom = !(rc.*pStart > rcBar.*pStart + nMinLen);
        if (!a.bNoRoom)
            rcBar.*pEnd = rc.*pStart;
    }
    else
    {
        rc.*pStart = rcBar.*pStart;
        rc.*pEnd = rc.*pStart + nLength;
        a.bNoRoom = !(rc.*pEnd < rcBar.*pEnd - nMinLen);
        if (!a.bNoRoom)
            rcBar.*pStart = rc.*pEnd;
    }
    rc.*pAcrossEnd = rc.*pAcrossStart + nThickness;
    a.rcNew = rc;
}

void DeferAttached(AFX_SIZEPARENTPARAMS* pLayout, const AttachedPlan& a)
{
    if (a.hWnd == NULL)
        return;
    if ((a.bHideFlag && a.bVisible) || a.bNoRoom)
    {
        pLayout->hDWP = ::DeferWindowPos(pLayout->hDWP, a.hWnd, NULL, 0, 0, 0, 0,
                                         SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE |
                                             SWP_HIDEWINDOW | SWP_NOOWNERZORDER);
        return;
    }
    if (a.bHideFlag || ::EqualRect(&a.rcNew, &a.rcOld))
        return;
    pLayout->hDWP = ::DeferWindowPos(pLayout->hDWP, a.hWnd, NULL, a.rcNew.left, a.rcNew.top,
                                     a.rcNew.right - a.rcNew.left, a.rcNew.bottom - a.rcNew.top,
                                     SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW |
                                         SWP_NOOWNERZORDER);
}

}  // namespace

LRESULT CExtScrollBar::OnSizeParent(WPARAM, LPARAM lParam)
{
    AFX_SIZEPARENTPARAMS* pLayout = (AFX_SIZEPARENTPARAMS*)lParam;
    if (pLayout == NULL || !m_bSizeParentLayout || !::IsWindowVisible(m_hWnd))
        return 0;
    RECT rcBar = pLayout->rect;
    const int k = GetBarKind();
    const HWND hWndParent = ::GetParent(m_hWnd);
    AttachedPlan aStart = {m_hWndAttachedStart, m_bHideAttachedStart, false, false, {}, {}};
    AttachedPlan aEnd = {m_hWndAttachedEnd, m_bHideAttachedEnd, false, false, {}, {}};
    if (pLayout->hDWP != NULL)
    {
        ReadAttached(aStart, hWndParent);
        ReadAttached(aEnd, hWndParent);
    }
    else
        aStart.hWnd = aEnd.hWnd = NULL;
    switch (k)
    {
    case 0:
        rcBar.bottom = rcBar.top + m_nHorzBarHeight;
        pLayout->rect.top += m_nHorzBarHeight;
        pLayout->sizeTotal.cy += m_nHorzBarHeight;
        break;
    case 1:
        rcBar.top = rcBar.bottom - m_nHorzBarHeight;
        pLayout->rect.bottom -= m_nHorzBarHeight;
        pLayout->sizeTotal.cy += m_nHorzBarHeight;
        break;
    case 2:
        rcBar.right = rcBar.left + m_nVertBarWidth;
        pLayout->rect.left += m_nVertBarWidth;
        pLayout->sizeTotal.cx += m_nVertBarWidth;
        break;
    default:
        rcBar.left = rcBar.right - m_nVertBarWidth;
        pLayout->rect.right -= m_nVertBarWidth;
        pLayout->sizeTotal.cx += m_nVertBarWidth;
        break;
    }
    const bool bHorz = k <= 1;
    if (bHorz)
    {
        if (m_bCornerAtStart)
            rcBar.left += m_nVertBarWidth;
        if (m_bCornerAtEnd)
            rcBar.right -= m_nVertBarWidth;
    }
    else
    {
        if (m_bCornerAtStart)
            rcBar.top += m_nHorzBarHeight;
        if (m_bCornerAtEnd)
            rcBar.bottom -= m_nHorzBarHeight;
    }
    if (k != 2)
    {
        const int nMinLen = bHorz ? 2 * ::GetSystemMetrics(SM_CXHSCROLL)
                                  : 2 * ::GetSystemMetrics(SM_CYVSCROLL);
        const int nThickness = bHorz ? m_nHorzBarHeight : m_nVertBarWidth;
        PlaceAttached(aEnd, rcBar, bHorz, true, nMinLen, nThickness);
        PlaceAttached(aStart, rcBar, bHorz, false, nMinLen, nThickness);
    }
    if (pLayout->hDWP == NULL)
        return 0;
    ::AfxRepositionWindow(pLayout, m_hWnd, &rcBar);
    DeferAttached(pLayout, aStart);
    DeferAttached(pLayout, aEnd);
    return 0;
}

// ---- the theme engine's view of the bar ------------------------------------------

// The theme engine links before this library and so cannot name the scroll bar; its
// painting record asks through these answers, installed once at start-up.
namespace {

CWnd* BarWnd(CExtScrollBar* pBar) { return pBar; }

int BarOrientationKind(CExtScrollBar* pBar) { return pBar->GetBarKind(); }

void BarMetrics(CExtScrollBar* pBar, int arrMetrics[4])
{
    arrMetrics[0] = pBar->m_nHorzButtonWidth;
    arrMetrics[1] = pBar->m_nVertButtonHeight;
    arrMetrics[2] = pBar->m_nHorzThumbMin;
    arrMetrics[3] = pBar->m_nVertThumbMin;
}

const CExtScrollBarPaintHooks g_barPaintHooks = {BarWnd, BarOrientationKind, BarMetrics};

struct BarPaintHooksInstaller
{
    BarPaintHooksInstaller() { CExtPaintManager::PAINTSCROLLBARDATA::stat_SetBarHooks(&g_barPaintHooks); }
} g_barPaintHooksInstaller;

}  // namespace
