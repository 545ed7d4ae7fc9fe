#include "toolkit/grid/scroll_wnd.h"

#include <algorithm>

#include "toolkit/grid/scroll_bar.h"
#include "toolkit/core/cmd_manager.h"
#include "toolkit/dialogs/memory_dc.h"
#include "toolkit/menus/popup_menu_wnd.h"

IMPLEMENT_DYNCREATE(CExtScrollWnd, CWnd)

namespace {

// An empty scroll information record that asks for, or sets, the parts in fMask.
SCROLLINFO ScrollInfoFor(UINT fMask)
{
    SCROLLINFO si;
    ::memset(&si, 0, sizeof(si));
    si.cbSize = sizeof(si);
    si.fMask = fMask;
    return si;
}

}  // namespace

BEGIN_MESSAGE_MAP(CExtScrollWnd, CWnd)
    ON_MESSAGE(WM_SIZE, OnSizeMsg)
    ON_MESSAGE(WM_HSCROLL, OnHScrollMsg)
    ON_MESSAGE(WM_VSCROLL, OnVScrollMsg)
    ON_MESSAGE(WM_MOUSEWHEEL, OnMouseWheelMsg)
    ON_MESSAGE(WM_ERASEBKGND, OnEraseBkgndMsg)
    ON_MESSAGE(WM_PAINT, OnPaintMsg)
    ON_MESSAGE(WM_SYSCOLORCHANGE, OnSysColorChangeMsg)
    ON_MESSAGE(WM_SETTINGCHANGE, OnSettingChangeMsg)
    ON_MESSAGE(WM_DISPLAYCHANGE, OnDisplayChangeMsg)
    ON_MESSAGE(WM_THEMECHANGED, OnThemeChangedMsg)
END_MESSAGE_MAP()

CExtScrollWnd::CExtScrollWnd()
    : m_bScrollWindowContent(false),
      m_bNoEraseBackground(true),
      m_bBufferWholeClient(false),
      m_bBufferedPaint(true),
      m_bInvalidateOnScroll(true),
      m_bEraseOnScroll(false),
      m_bUpdateOnScroll(false),
      m_bUpdateOnRedraw(false),
      m_bInvalidateOnRedraw(true),
      m_bEraseOnRedraw(false),
      m_bUse32BitScrollInfo(true),
      m_nUpdateScrollBarsLock(0),
      m_nWheelRemainder(0)
{
    RegisterWithHolder();
}

CExtScrollWnd::~CExtScrollWnd() { UnregisterFromHolder(); }

void CExtScrollWnd::RegisterWithHolder() { g_CurrentPaintManager.RegisterBridge(this); }
void CExtScrollWnd::UnregisterFromHolder() { g_CurrentPaintManager.UnregisterBridge(this); }
HWND CExtScrollWnd::GetBridgeHwnd() { return m_hWnd; }
CExtPaintManager* CExtScrollWnd::GetPaintManager() { return g_CurrentPaintManager.GetPM(); }

void CExtScrollWnd::OnPaintManagerInstalled(CExtPaintManager* pPM)
{
    CExtPmBridge::OnPaintManagerInstalled(pPM);
    if (::IsWindow(m_hWnd))
    {
        RECT rc;
        CalcClientRect(&rc, true, NULL);
    }
}

// ---- bars ------------------------------------------------------------------------

CScrollBar* CExtScrollWnd::ExternalBar(int nBar) const
{
    if (m_hWnd == NULL)
        return NULL;
    CScrollBar* pBar = GetScrollBarCtrl(nBar);
    return (pBar != NULL && ::IsWindow(pBar->m_hWnd)) ? pBar : NULL;
}

HWND CExtScrollWnd::BarTarget(int nBar, int* pnCode) const
{
    CScrollBar* pBar = ExternalBar(nBar);
    if (pBar != NULL)
    {
        *pnCode = SB_CTL;
        return pBar->m_hWnd;
    }
    *pnCode = nBar;
    return m_hWnd;
}

void CExtScrollWnd::RefreshCornerFlags()
{
    CScrollBar* pH = ExternalBar(SB_HORZ);
    CScrollBar* pV = ExternalBar(SB_VERT);
    if (pH == NULL || pV == NULL || !pH->IsKindOf(RUNTIME_CLASS(CExtScrollBar)) ||
        !pV->IsKindOf(RUNTIME_CLASS(CExtScrollBar)))
        return;
    static_cast<CExtScrollBar*>(pH)->UpdateCornerFlags(static_cast<CExtScrollBar*>(pV));
    static_cast<CExtScrollBar*>(pV)->UpdateCornerFlags(static_cast<CExtScrollBar*>(pH));
}

void CExtScrollWnd::GetTotalSize(CSize& size) { size = CSize(0, 0); }
void CExtScrollWnd::GetPageSize(CSize& size, int) { size = CSize(0, 0); }
void CExtScrollWnd::GetLineSize(CSize& size, int) { size = CSize(0, 0); }

RECT* CExtScrollWnd::CalcClientRect(RECT* pRect, bool bReposition, const RECT* pRectSrc)
{
    if (bReposition)
        RefreshCornerFlags();
    RECT rc = {0, 0, 0, 0};
    if (pRectSrc != NULL)
        rc = *pRectSrc;
    else if (m_hWnd != NULL)
        ::GetClientRect(m_hWnd, &rc);
    if (m_hWnd != NULL)
    {
        // Only a query reports the area the bars leave; a layout run moves them first.
        const RECT rcSrc = rc;
        if (bReposition)
            RepositionBars(0, 0xFFFF, 0xE900, reposDefault, NULL, &rcSrc, TRUE);
        RepositionBars(0, 0xFFFF, 0xE900, reposQuery, &rc, &rcSrc, TRUE);
    }
    if (pRect != NULL)
        *pRect = rc;
    return pRect;
}

RECT* CExtScrollWnd::GetClientRectEx(RECT* pRect) { return CalcClientRect(pRect, false, NULL); }

bool CExtScrollWnd::IsScrollBarAutoHide(bool) { return true; }

bool CExtScrollWnd::IsScrollBarVisible(bool bHorz)
{
    CScrollBar* pBar = ExternalBar(bHorz ? SB_HORZ : SB_VERT);
    if (pBar != NULL)
        return ::IsWindowEnabled(pBar->m_hWnd) != FALSE;
    if (m_hWnd == NULL)
        return false;
    return (::GetWindowLong(m_hWnd, GWL_STYLE) & (bHorz ? WS_HSCROLL : WS_VSCROLL)) != 0;
}

void CExtScrollWnd::EnableScrollBarCtrl(int nBar, bool bEnable)
{
    for (int nAxis = SB_HORZ; nAxis <= SB_VERT; nAxis++)
    {
        if (nBar != nAxis && nBar != SB_BOTH)
            continue;
        const bool bHorz = nAxis == SB_HORZ;
        if (!bEnable && GetScrollPos(nAxis, false) != 0)
        {
            POINT pt;
            GetScrollPosition(pt);
            (bHorz ? pt.x : pt.y) = 0;
            ScrollToPosition(pt);
        }
        CScrollBar* pBar = ExternalBar(nAxis);
        if (pBar != NULL)
        {
            if ((::GetWindowLong(m_hWnd, GWL_STYLE) & (bHorz ? WS_HSCROLL : WS_VSCROLL)) != 0)
                ::ShowScrollBar(m_hWnd, nAxis, FALSE);
            if ((::IsWindowEnabled(pBar->m_hWnd) != FALSE) != bEnable)
            {
                ::EnableWindow(pBar->m_hWnd, bEnable ? TRUE : FALSE);
                if (IsScrollBarAutoHide(bHorz))
                    ::ShowWindow(pBar->m_hWnd, bEnable ? SW_SHOW : SW_HIDE);
            }
            if (!IsScrollBarAutoHide(bHorz) && ::IsWindowEnabled(pBar->m_hWnd) &&
                !::IsWindowVisible(pBar->m_hWnd))
                ::ShowWindow(pBar->m_hWnd, SW_SHOW);
        }
        else if (IsScrollBarAutoHide(bHorz))
            ::ShowScrollBar(m_hWnd, nAxis, bEnable ? TRUE : FALSE);
        else
            ::EnableScrollBar(m_hWnd, nAxis, bEnable ? ESB_ENABLE_BOTH : ESB_DISABLE_BOTH);
    }
    RefreshCornerFlags();
}

bool CExtScrollWnd::SetScrollInfo(int nBar, SCROLLINFO* pInfo, bool bRedraw)
{
    int nCode = 0;
    HWND hWnd = BarTarget(nBar, &nCode);
    if (hWnd == NULL || pInfo == NULL)
        return false;
    pInfo->cbSize = sizeof(SCROLLINFO);
    ::SetScrollInfo(hWnd, nCode, pInfo, bRedraw ? TRUE : FALSE);
    return true;
}

void CExtScrollWnd::SetScrollRange(int nBar, int nMin, int nMax, bool bRedraw)
{
    int nCode = 0;
    HWND hWnd = BarTarget(nBar, &nCode);
    if (hWnd != NULL)
        ::SetScrollRange(hWnd, nCode, nMin, nMax, bRedraw ? TRUE : FALSE);
}

bool CExtScrollWnd::IsThumbTrackEnabled(bool) { return true; }

int CExtScrollWnd::GetScrollLimit(int nBar)
{
    int nCode = 0;
    HWND hWnd = BarTarget(nBar, &nCode);
    if (hWnd == NULL)
        return 0;
    if (m_bUse32BitScrollInfo)
    {
        SCROLLINFO si = ScrollInfoFor(SIF_RANGE | SIF_PAGE);
        if (::GetScrollInfo(hWnd, nCode, &si))
        {
            const LONGLONG n = (LONGLONG)si.nMax - (LONGLONG)si.nPage - si.nMin + 1;
            return (int)(n < 0 ? 0 : (n > 0x7FFFFFFF ? 0x7FFFFFFF : n));
        }
    }
    int nMin = 0, nMax = 0;
    ::GetScrollRange(hWnd, nCode, &nMin, &nMax);
    return nMax;
}

void CExtScrollWnd::GetScrollBarData(int nBar, int* pMin, int* pMax, int* pPage, int* pPos,
                                     int* pTrackPos)
{
    int* arr[5] = {pMin, pMax, pPage, pPos, pTrackPos};
    for (int* p : arr)
        if (p != NULL)
            *p = 0;
    int nCode = 0;
    HWND hWnd = BarTarget(nBar, &nCode);
    if (hWnd == NULL)
        return;
    if (m_bUse32BitScrollInfo)
    {
        SCROLLINFO si = ScrollInfoFor(SIF_RANGE | SIF_PAGE | SIF_POS | SIF_TRACKPOS);
        if (::GetScrollInfo(hWnd, nCode, &si))
        {
            const int arrValues[5] = {si.nMin, si.nMax, (int)si.nPage, si.nPos, si.nTrackPos};
            for (int i = 0; i < 5; i++)
                if (arr[i] != NULL)
                    *arr[i] = arrValues[i];
            return;
        }
    }
    int nMin = 0, nMax = 0;
    ::GetScrollRange(hWnd, nCode, &nMin, &nMax);
    const int nPos = ::GetScrollPos(hWnd, nCode);
    const int arrValues[5] = {nMin, nMax, 0, nPos, nPos};
    for (int i = 0; i < 5; i++)
        if (arr[i] != NULL)
            *arr[i] = arrValues[i];
}

int CExtScrollWnd::GetScrollPos(int nBar, bool bTrackPos)
{
    int nCode = 0;
    HWND hWnd = BarTarget(nBar, &nCode);
    if (hWnd == NULL)
        return 0;
    if (nCode != SB_CTL &&
        (::GetWindowLong(m_hWnd, GWL_STYLE) & (nBar == SB_HORZ ? WS_HSCROLL : WS_VSCROLL)) == 0)
        return 0;
    if (m_bUse32BitScrollInfo)
    {
        SCROLLINFO si = ScrollInfoFor(bTrackPos ? SIF_TRACKPOS : SIF_POS);
        if (::GetScrollInfo(hWnd, nCode, &si))
            return bTrackPos ? si.nTrackPos : si.nPos;
    }
    return ::GetScrollPos(hWnd, nCode);
}

void CExtScrollWnd::SetScrollPos(int nBar, int nPos, bool bRedraw)
{
    int nCode = 0;
    HWND hWnd = BarTarget(nBar, &nCode);
    if (hWnd == NULL)
        return;
    if (m_bUse32BitScrollInfo)
    {
        SCROLLINFO si = ScrollInfoFor(SIF_POS);
        si.nPos = nPos;
        ::SetScrollInfo(hWnd, nCode, &si, bRedraw ? TRUE : FALSE);
        return;
    }
    ::SetScrollPos(hWnd, nCode, nPos, bRedraw ? TRUE : FALSE);
}

void CExtScrollWnd::GetScrollPosition(POINT& pt)
{
    pt.x = GetScrollPos(SB_HORZ, false);
    pt.y = GetScrollPos(SB_VERT, false);
}

void CExtScrollWnd::GetDeviceScrollPosition(POINT& pt) { GetScrollPosition(pt); }

void CExtScrollWnd::ScrollToPosition(POINT pt)
{
    const int xOld = GetScrollPos(SB_HORZ, false);
    SetScrollPos(SB_HORZ, pt.x, true);
    const int yOld = GetScrollPos(SB_VERT, false);
    SetScrollPos(SB_VERT, pt.y, true);
    ScrollWindowBy(xOld - pt.x, yOld - pt.y, NULL, NULL);
}

void CExtScrollWnd::GetScrollBarSizes(CSize& size)
{
    size = CSize(0, 0);
    const bool bBorder = m_hWnd != NULL && (::GetWindowLong(m_hWnd, GWL_STYLE) & WS_BORDER) != 0;
    if (ExternalBar(SB_VERT) == NULL)
        size.cx = ::GetSystemMetrics(SM_CXVSCROLL) + 1 - (bBorder ? 1 : 0);
    if (ExternalBar(SB_HORZ) == NULL)
        size.cy = ::GetSystemMetrics(SM_CYHSCROLL) + 1 - (bBorder ? 1 : 0);
}

bool CExtScrollWnd::GetTrueClientSize(CSize& size, CSize& sizeSb)
{
    RECT rc;
    GetClientRectEx(&rc);
    size = CSize(rc.right - rc.left, rc.bottom - rc.top);
    GetScrollBarSizes(sizeSb);
    if (sizeSb.cx != 0 && IsScrollBarVisible(false))
        size.cx += sizeSb.cx;
    if (sizeSb.cy != 0 && IsScrollBarVisible(true))
        size.cy += sizeSb.cy;
    return size.cx > sizeSb.cx && size.cy > sizeSb.cy;
}

void CExtScrollWnd::GetScrollBarState(CSize sizeClient, CSize& needSb, CSize& sizeRange,
                                      POINT& ptMove, bool bInsideClient)
{
    CSize sizeSb;
    GetScrollBarSizes(sizeSb);
    CSize sizeTotal;
    GetTotalSize(sizeTotal);
    sizeRange = sizeTotal - sizeClient;
    GetDeviceScrollPosition(ptMove);
    bool bNeedH = sizeRange.cx > 0;
    if (!bNeedH)
        ptMove.x = 0;
    else if (bInsideClient)
        sizeRange.cy += sizeSb.cy;
    const bool bNeedV = sizeRange.cy > 0;
    if (!bNeedV)
        ptMove.y = 0;
    else
    {
        if (bInsideClient)
            sizeRange.cx += sizeSb.cx;
        if (!bNeedH && sizeRange.cx >= 1)
        {
            bNeedH = true;
            sizeRange.cy += sizeSb.cy;
        }
    }
    if (sizeRange.cx >= 1 && ptMove.x >= sizeRange.cx)
        ptMove.x = sizeRange.cx;
    if (sizeRange.cy >= 1 && ptMove.y >= sizeRange.cy)
        ptMove.y = sizeRange.cy;
    needSb = CSize(bNeedH ? 1 : 0, bNeedV ? 1 : 0);
}

// ---- scrolling --------------------------------------------------------------------

namespace {
int ClampAdd(int nBase, int nDelta, int nLimit)
{
    LONGLONG n = (LONGLONG)nBase + nDelta;
    if (n > nLimit)
        n = nLimit;
    if (n < 0)
        n = 0;
    return (int)n;
}
}  // namespace

bool CExtScrollWnd::OnScroll(UINT nScrollCode, UINT nPos, bool bDoScroll)
{
    const int xOld = GetScrollPos(SB_HORZ, false), yOld = GetScrollPos(SB_VERT, false);
    int arrPos[2] = {xOld, yOld};
    for (int nAxis = 0; nAxis < 2; nAxis++)
    {
        const bool bHorz = nAxis == 0;
        const UINT nCode = bHorz ? (nScrollCode & 0xFF) : ((nScrollCode >> 8) & 0xFF);
        int& v = arrPos[nAxis];
        CSize sz;
        switch (nCode)
        {
        case SB_LINEUP: GetLineSize(sz, -1); v -= bHorz ? sz.cx : sz.cy; break;
        case SB_LINEDOWN: GetLineSize(sz, 1); v += bHorz ? sz.cx : sz.cy; break;
        case SB_PAGEUP: GetPageSize(sz, -1); v -= bHorz ? sz.cx : sz.cy; break;
        case SB_PAGEDOWN: GetPageSize(sz, 1); v += bHorz ? sz.cx : sz.cy; break;
        case SB_THUMBTRACK:
            if (!IsThumbTrackEnabled(bHorz))
                break;
            // fall through
        case SB_THUMBPOSITION:
            v = m_bUse32BitScrollInfo ? GetScrollPos(nAxis, true) : (int)nPos;
            break;
        case SB_TOP: v = 0; break;
        case SB_BOTTOM: v = 0x7FFFFFFF; break;
        default: break;
        }
    }
    const bool bResult = OnScrollBy(CSize(arrPos[0] - xOld, arrPos[1] - yOld), bDoScroll);
    if (bResult && bDoScroll && m_bUpdateOnScroll)
        UpdateWindowNow();
    return bResult;
}

bool CExtScrollWnd::OnScrollBy(CSize sizeScroll, bool bDoScroll)
{
    if (!IsScrollBarVisible(true))
        sizeScroll.cx = 0;
    if (!IsScrollBarVisible(false))
        sizeScroll.cy = 0;
    const int xOld = GetScrollPos(SB_HORZ, false), yOld = GetScrollPos(SB_VERT, false);
    const int x = ClampAdd(xOld, sizeScroll.cx, GetScrollLimit(SB_HORZ));
    const int y = ClampAdd(yOld, sizeScroll.cy, GetScrollLimit(SB_VERT));
    if (x == xOld && y == yOld)
        return false;
    if (!bDoScroll)
        return true;
    ScrollWindowBy(xOld - x, yOld - y, NULL, NULL);
    if (x != xOld)
        SetScrollPos(SB_HORZ, x, true);
    if (y != yOld)
        SetScrollPos(SB_VERT, y, true);
    return true;
}

bool CExtScrollWnd::MeasureScrollArea(CSize& sizeClient, CSize& sizeSb, bool& bInsideClient)
{
    // A parent that lays the bars out itself hands over the area they share.
    bInsideClient = true;
    CRect rcParent;
    CWnd* pParent = GetParent();
    if (pParent != NULL && pParent->SendMessage(WM_RECALCPARENT, 0, (LPARAM)(LPRECT)&rcParent) != 0)
    {
        sizeClient = rcParent.Size();
        GetScrollBarSizes(sizeSb);
        bInsideClient = false;
        return true;
    }
    if (GetTrueClientSize(sizeClient, sizeSb))
        return true;
    RECT rc;
    GetClientRectEx(&rc);
    if (rc.right - rc.left > 0 && rc.bottom - rc.top > 0)
    {
        EnableScrollBarCtrl(SB_BOTH, false);
        CalcClientRect(&rc, true, NULL);
    }
    return false;
}

void CExtScrollWnd::UpdateScrollBars()
{
    CUpdateScrollBarsPass pass(m_nUpdateScrollBarsLock);
    if (!pass.IsEntered())
        return;

    CSize sizeClient, sizeSb;
    bool bInsideClient = true;
    if (!MeasureScrollArea(sizeClient, sizeSb, bInsideClient))
        return;
    CSize needSb, sizeRange;
    POINT ptMove;
    GetScrollBarState(sizeClient, needSb, sizeRange, ptMove, bInsideClient);
    if (needSb.cx)
        sizeClient.cy -= sizeSb.cy;
    if (needSb.cy)
        sizeClient.cx -= sizeSb.cx;
    ScrollToPosition(ptMove);
    CSize sizeTotal;
    GetTotalSize(sizeTotal);
    SCROLLINFO si = ScrollInfoFor(SIF_RANGE | SIF_PAGE);
    si.nMin = 0;
    EnableScrollBarCtrl(SB_HORZ, needSb.cx != 0);
    if (needSb.cx)
    {
        si.nPage = sizeClient.cx;
        si.nMax = sizeTotal.cx - 1;
        if (!SetScrollInfo(SB_HORZ, &si, true))
            SetScrollRange(SB_HORZ, 0, sizeRange.cx, true);
    }
    EnableScrollBarCtrl(SB_VERT, needSb.cy != 0);
    if (needSb.cy)
    {
        si.nPage = sizeClient.cy;
        si.nMax = sizeTotal.cy - 1;
        if (!SetScrollInfo(SB_VERT, &si, true))
            SetScrollRange(SB_VERT, 0, sizeRange.cy, true);
    }
    RECT rc;
    CalcClientRect(&rc, true, NULL);
}

void CExtScrollWnd::ScrollWindowBy(int dx, int dy, const RECT* pRect, const RECT* pClip)
{
    if (m_bScrollWindowContent && m_hWnd != NULL)
        ScrollWindow(dx, dy, pRect, pClip);
    if (m_bInvalidateOnScroll)
        InvalidateClientArea(m_bEraseOnScroll);
    if (m_bUpdateOnScroll)
        UpdateWindowNow();
}

void CExtScrollWnd::EnsurePointVisible(POINT pt)
{
    const bool bH = IsScrollBarVisible(true), bV = IsScrollBarVisible(false);
    if (m_hWnd == NULL || (!bH && !bV))
        return;
    RECT rcClient;
    ::GetClientRect(m_hWnd, &rcClient);
    if (::PtInRect(&rcClient, pt))
        return;
    POINT pos, posOld;
    GetScrollPosition(pos);
    posOld = pos;
    CSize sizeTotal;
    GetTotalSize(sizeTotal);
    if (bH)
    {
        if (pt.x < 0)
            pos.x += pt.x;
        else if (pt.x > rcClient.right)
            pos.x += pt.x - rcClient.right;
        pos.x = std::max(0L, std::min(pos.x, (LONG)sizeTotal.cx));
    }
    if (bV)
    {
        if (pt.y < 0)
            pos.y += pt.y;
        else if (pt.y > rcClient.bottom)
            pos.y += pt.y - rcClient.bottom;
        pos.y = std::max(0L, std::min(pos.y, (LONG)sizeTotal.cy));
    }
    if (pos.x != posOld.x || pos.y != posOld.y)
        ScrollToPosition(pos);
}

void CExtScrollWnd::InvalidateClientArea(bool bErase)
{
    if (m_hWnd == NULL)
        return;
    RECT rcClient;
    ::GetClientRect(m_hWnd, &rcClient);
    HWND arrBars[2] = {NULL, NULL};
    for (int nAxis = 0; nAxis < 2; nAxis++)
    {
        CScrollBar* pBar = ExternalBar(nAxis);
        if (pBar != NULL && ::IsWindowVisible(pBar->m_hWnd))
            arrBars[nAxis] = pBar->m_hWnd;
    }
    if (arrBars[0] == NULL && arrBars[1] == NULL)
    {
        ::InvalidateRect(m_hWnd, NULL, bErase ? TRUE : FALSE);
        return;
    }
    HRGN hRgn = ::CreateRectRgnIndirect(&rcClient);
    bool bOk = hRgn != NULL;
    for (HWND hBar : arrBars)
    {
        if (!bOk || hBar == NULL)
            continue;
        RECT rcBar;
        ::GetWindowRect(hBar, &rcBar);
        ::MapWindowPoints(NULL, m_hWnd, (POINT*)&rcBar, 2);
        HRGN hBarRgn = ::CreateRectRgnIndirect(&rcBar);
        bOk = hBarRgn != NULL && ::CombineRgn(hRgn, hRgn, hBarRgn, RGN_DIFF) != ERROR;
        if (hBarRgn != NULL)
            ::DeleteObject(hBarRgn);
    }
    if (bOk)
        ::InvalidateRgn(m_hWnd, hRgn, bErase ? TRUE : FALSE);
    else
        ::InvalidateRect(m_hWnd, NULL, bErase ? TRUE : FALSE);
    if (hRgn != NULL)
        ::DeleteObject(hRgn);
}

void CExtScrollWnd::UpdateWindowNow()
{
    if (m_hWnd != NULL)
        ::UpdateWindow(m_hWnd);
}

void CExtScrollWnd::Redraw()
{
    if (m_bInvalidateOnRedraw)
        InvalidateClientArea(m_bEraseOnRedraw);
    if (m_bUpdateOnRedraw)
        UpdateWindowNow();
}

// ---- the wheel --------------------------------------------------------------------

int CExtScrollWnd::GetWheelScrollLines(UINT, short, POINT)
{
    return g_CurrentPaintManager.GetWheelLinesPerNotch();
}

int CExtScrollWnd::WheelLines(short zDelta, int nLinesPerNotch)
{
    // Turning back drops what was kept from the other direction.
    if ((m_nWheelRemainder > 0 && zDelta > 0) || (m_nWheelRemainder < 0 && zDelta < 0))
        m_nWheelRemainder = 0;
    const LONGLONG nUnits = (LONGLONG)m_nWheelRemainder - (LONGLONG)zDelta * nLinesPerNotch;
    const LONGLONG nLines = nUnits / WHEEL_DELTA;
    m_nWheelRemainder = (int)(nUnits - nLines * WHEEL_DELTA);
    return (int)nLines;
}

bool CExtScrollWnd::DoMouseWheel(UINT nFlags, short zDelta, POINT pt)
{
    if ((nFlags & MK_CONTROL) != 0 || CExtPopupMenuWnd::IsMenuTracking())
        return false;
    const bool bH = IsScrollBarVisible(true), bV = IsScrollBarVisible(false);
    if (!bH && !bV)
        return false;
    const int n = GetWheelScrollLines(nFlags, zDelta, pt);
    bool bHorz;
    if (bV && (nFlags & MK_SHIFT) == 0)
        bHorz = false;
    else if (bH && (nFlags & MK_SHIFT) != 0)
        bHorz = true;
    else
        return false;
    int d;
    CSize sz;
    if (n == (int)WHEEL_PAGESCROLL)
    {
        GetPageSize(sz, -1);
        d = bHorz ? sz.cx : sz.cy;
        if (zDelta > 0)
            d = -d;
    }
    else
    {
        d = WheelLines(zDelta, n);
        if (d == 0)
            return false;
        GetLineSize(sz, 1);
        d *= bHorz ? sz.cx : sz.cy;
        GetPageSize(sz, 1);
        const int nPage = bHorz ? sz.cx : sz.cy;
        if (d >= nPage && nPage > 0)
            d = nPage;
    }
    const bool bResult = OnScrollBy(bHorz ? CSize(d, 0) : CSize(0, d), true);
    if (bResult)
    {
        InvalidateClientArea(m_bEraseOnScroll);
        if (m_bUpdateOnScroll)
            UpdateWindowNow();
    }
    return bResult;
}

BOOL CExtScrollWnd::PreTranslateMessage(MSG* pMsg)
{
    if (pMsg->message == WM_MOUSEWHEEL && ::IsWindow(m_hWnd) &&
        CExtPopupMenuWnd::stat_TestWindowsShareParent(m_hWnd, ::GetActiveWindow(), true, true,
                                                      true))
    {
        POINT pt = {(short)LOWORD(pMsg->lParam), (short)HIWORD(pMsg->lParam)};
        if (::WindowFromPoint(pt) == m_hWnd &&
            DoMouseWheel(LOWORD(pMsg->wParam), (short)HIWORD(pMsg->wParam), pt))
            return TRUE;
    }
    return CWnd::PreTranslateMessage(pMsg);
}

// ---- messages ---------------------------------------------------------------------

LRESULT CExtScrollWnd::OnSizeMsg(WPARAM wParam, LPARAM)
{
    LRESULT lResult = Default();
    if (wParam != SIZE_MINIMIZED)
    {
        RECT rc;
        CalcClientRect(&rc, true, NULL);
        UpdateScrollBars();
        Redraw();
    }
    return lResult;
}

LRESULT CExtScrollWnd::OnHScrollMsg(WPARAM wParam, LPARAM lParam)
{
    return OnScrollMsg(SB_HORZ, wParam, lParam);
}

LRESULT CExtScrollWnd::OnVScrollMsg(WPARAM wParam, LPARAM lParam)
{
    return OnScrollMsg(SB_VERT, wParam, lParam);
}

LRESULT CExtScrollWnd::OnScrollMsg(int nAxis, WPARAM wParam, LPARAM lParam)
{
    HWND hCtl = (HWND)lParam;
    if (hCtl != NULL && ReflectLastMsg(hCtl))
        return 0;
    CScrollBar* pBar = ExternalBar(nAxis);
    if (hCtl != (pBar != NULL ? pBar->m_hWnd : NULL))
        return 0;
    const UINT nCode = LOWORD(wParam) & 0xFF;
    const UINT nRequest = nAxis == SB_HORZ ? (0xFF00 | nCode) : (0x00FF | (nCode << 8));
    OnScroll(nRequest, HIWORD(wParam), true);
    return 0;
}

LRESULT CExtScrollWnd::OnMouseWheelMsg(WPARAM wParam, LPARAM lParam)
{
    POINT pt = {(short)LOWORD(lParam), (short)HIWORD(lParam)};
    return DoMouseWheel(LOWORD(wParam), (short)HIWORD(wParam), pt) ? 1 : 0;
}

LRESULT CExtScrollWnd::OnEraseBkgndMsg(WPARAM, LPARAM)
{
    return m_bNoEraseBackground ? TRUE : Default();
}

LRESULT CExtScrollWnd::OnPaintMsg(WPARAM, LPARAM)
{
    CPaintDC dcPaint(this);
    CExtPaintManager::ClipOutChildren(&dcPaint, m_hWnd);
    CRect rcCorner(0, 0, 0, 0);
    CScrollBar* pH = ExternalBar(SB_HORZ);
    CScrollBar* pV = ExternalBar(SB_VERT);
    if (pH != NULL && pV != NULL && ::IsWindowVisible(pH->m_hWnd) && ::IsWindowVisible(pV->m_hWnd))
    {
        RECT rcH, rcV;
        ::GetWindowRect(pH->m_hWnd, &rcH);
        ::GetWindowRect(pV->m_hWnd, &rcV);
        ::MapWindowPoints(NULL, m_hWnd, (POINT*)&rcH, 2);
        ::MapWindowPoints(NULL, m_hWnd, (POINT*)&rcV, 2);
        rcCorner.SetRect(rcV.left, rcH.top, rcV.right, rcH.bottom);
    }
    POINT ptScroll;
    GetDeviceScrollPosition(ptScroll);
    CRect rcBuffer;
    if (m_bBufferWholeClient)
        GetClientRect(&rcBuffer);
    else
        dcPaint.GetClipBox(&rcBuffer);
    auto PaintInto = [&](CDC& dc) {
        const CPoint ptOldOrg = dc.GetViewportOrg();
        dc.SetViewportOrg(ptOldOrg.x - ptScroll.x, ptOldOrg.y - ptScroll.y);
        OnPaintContent(dc);
        dc.SetViewportOrg(ptOldOrg);
        if (!rcCorner.IsRectEmpty() && dc.RectVisible(&rcCorner))
            OnPaintAreaBackground(dc, rcCorner);
    };
    if (m_bBufferedPaint)
    {
        CExtMemoryDC dc(&dcPaint, &rcBuffer, CExtMemoryDC::MDCOPT_DEFAULT);
        PaintInto(dc);
    }
    else
        PaintInto(dcPaint);
    return 0;
}

void CExtScrollWnd::OnPaintContent(CDC&) {}

void CExtScrollWnd::OnPaintAreaBackground(CDC& dc, const RECT& rc)
{
    CExtMemoryDC dcBuffer(&dc, &rc, CExtMemoryDC::MDCOPT_DEFAULT);
    CExtPaintManager* pPM = GetPaintManager();
    if (pPM == NULL)
        return;
    if (pPM->IsParentBackgroundAllowed(this, 0) && pPM->AskParentForBackground(true, dcBuffer, this, 0))
        return;
    dcBuffer.FillSolidRect(&rc, pPM->LookupColor(1000, this, 0));
}

LRESULT CExtScrollWnd::OnSystemChange(UINT message, WPARAM wParam, LPARAM lParam, bool bRecalcClient)
{
    LRESULT lResult = Default();
    g_CurrentPaintManager.RelaySystemChange(this, GetPaintManager(), message, wParam, lParam);
    if (bRecalcClient)
    {
        RECT rc;
        CalcClientRect(&rc, true, NULL);
    }
    Invalidate();
    return lResult;
}

LRESULT CExtScrollWnd::OnSysColorChangeMsg(WPARAM, LPARAM) { return OnSystemChange(WM_SYSCOLORCHANGE, 0, 0, false); }

LRESULT CExtScrollWnd::OnSettingChangeMsg(WPARAM wParam, LPARAM lParam)
{
    return OnSystemChange(WM_SETTINGCHANGE, wParam, lParam, true);
}

LRESULT CExtScrollWnd::OnDisplayChangeMsg(WPARAM wParam, LPARAM lParam)
{
    return OnSystemChange(WM_DISPLAYCHANGE, wParam, lParam, false);
}

LRESULT CExtScrollWnd::OnThemeChangedMsg(WPARAM wParam, LPARAM lParam)
{
    return OnSystemChange(WM_THEMECHANGED, wParam, lParam, true);
}
