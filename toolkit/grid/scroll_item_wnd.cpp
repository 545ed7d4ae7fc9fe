#include "toolkit/grid/scroll_item_wnd.h"
#include "toolkit/grid/scroll_bar.h"

#include <algorithm>

IMPLEMENT_DYNCREATE(CExtScrollItemWnd, CExtScrollWnd)

const char* const CExtScrollItemWnd::g_sWndClassName = "Kestrix-ScrollItemWindow";

// ---- the position record ----------------------------------------------------------

void CExtScrollItemWnd::SCROLL_POSITION_INFO::Set(int nPosH, int nLimitH, int nPageH, int nPosV,
                                                 int nLimitV, int nPageV, bool bBeginH, bool bEndH,
                                                 bool bBeginV, bool bEndV)
{
    m_nPosH = nPosH, m_nLimitH = nLimitH, m_nPageH = nPageH;
    m_nPosV = nPosV, m_nLimitV = nLimitV, m_nPageV = nPageV;
    m_bBeginH = bBeginH, m_bEndH = bEndH, m_bBeginV = bBeginV, m_bEndV = bEndV;
}

void CExtScrollItemWnd::SCROLL_POSITION_INFO::ClearH()
{
    m_nPosH = m_nLimitH = m_nPageH = 0;
    m_bBeginH = m_bEndH = false;
}

void CExtScrollItemWnd::SCROLL_POSITION_INFO::ClearV()
{
    m_nPosV = m_nLimitV = m_nPageV = 0;
    m_bBeginV = m_bEndV = false;
}

void CExtScrollItemWnd::SCROLL_POSITION_INFO::AssignH(const SCROLL_POSITION_INFO& other)
{
    m_nPosH = other.m_nPosH, m_nLimitH = other.m_nLimitH, m_nPageH = other.m_nPageH;
    m_bBeginH = other.m_bBeginH, m_bEndH = other.m_bEndH;
}

void CExtScrollItemWnd::SCROLL_POSITION_INFO::AssignV(const SCROLL_POSITION_INFO& other)
{
    m_nPosV = other.m_nPosV, m_nLimitV = other.m_nLimitV, m_nPageV = other.m_nPageV;
    m_bBeginV = other.m_bBeginV, m_bEndV = other.m_bEndV;
}

bool CExtScrollItemWnd::SCROLL_POSITION_INFO::IsEqualNumbers(const SCROLL_POSITION_INFO& o) const
{
    return m_nPosH == o.m_nPosH && m_nLimitH == o.m_nLimitH && m_nPageH == o.m_nPageH &&
           m_nPosV == o.m_nPosV && m_nLimitV == o.m_nLimitV && m_nPageV == o.m_nPageV;
}

// ---- creation ---------------------------------------------------------------------

CExtScrollItemWnd::CExtScrollItemWnd()
    : m_bTakeStyleOnSubclass(true),
      m_bSelfCreated(false),
      m_dwScrollItemStyle(0),
      m_dwScrollItemStyleEx(0)
{
}

CExtScrollItemWnd::~CExtScrollItemWnd() {}

bool CExtScrollItemWnd::RegisterScrollItemWndClass()
{
    static bool s_bRegistered = false;
    if (s_bRegistered)
        return true;
    HINSTANCE hInst = ::AfxGetInstanceHandle();
    WNDCLASSA wc;
    if (::GetClassInfoA(hInst, g_sWndClassName, &wc))
    {
        s_bRegistered = true;
        return true;
    }
    ::memset(&wc, 0, sizeof(wc));
    wc.style = CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW | CS_GLOBALCLASS;
    wc.lpfnWndProc = ::DefWindowProcA;
    wc.hInstance = hInst;
    wc.hCursor = ::LoadCursor(NULL, IDC_ARROW);
    wc.lpszClassName = g_sWndClassName;
    if (!::RegisterClassA(&wc))
        return false;
    s_bRegistered = true;
    return true;
}

bool CExtScrollItemWnd::Create(CWnd* pParentWnd, const RECT& rcWnd, UINT nDlgCtrlID,
                               DWORD dwScrollItemStyle, DWORD dwWindowStyle,
                               CCreateContext* pContext)
{
    if (!RegisterScrollItemWndClass())
        return false;
    m_bSelfCreated = true;
    m_dwScrollItemStyle = dwScrollItemStyle;
    if (!CWnd::Create(g_sWndClassName, NULL, dwWindowStyle, rcWnd, pParentWnd, nDlgCtrlID, pContext))
        return false;
    if (!OnInitializeWindow())
        AfxThrowMemoryException();
    return true;
}

BOOL CExtScrollItemWnd::PreCreateWindow(CREATESTRUCT& cs)
{
    if (!RegisterScrollItemWndClass() || !CExtScrollWnd::PreCreateWindow(cs))
        return FALSE;
    cs.lpszClass = g_sWndClassName;
    return TRUE;
}

void CExtScrollItemWnd::PreSubclassWindow()
{
    CExtScrollWnd::PreSubclassWindow();
    if (m_bSelfCreated)
        return;
    if (m_bTakeStyleOnSubclass)
    {
        const DWORD dwStyle = (DWORD)::GetWindowLong(m_hWnd, GWL_STYLE);
        m_dwScrollItemStyle = dwStyle & 0xFFFF;
        ::SetWindowLong(m_hWnd, GWL_STYLE, (LONG)(dwStyle & ~0xFFFFu));
    }
    if (!OnInitializeWindow())
        AfxThrowMemoryException();
}

bool CExtScrollItemWnd::OnInitializeWindow()
{
    UpdateScrollBars();
    Redraw();
    return true;
}

// ---- styles -----------------------------------------------------------------------

DWORD CExtScrollItemWnd::GetScrollItemStyle() const { return m_dwScrollItemStyle; }
DWORD CExtScrollItemWnd::GetScrollItemStyleEx() const { return m_dwScrollItemStyleEx; }

DWORD CExtScrollItemWnd::ModifyScrollItemStyle(DWORD dwAdd, DWORD dwRemove, bool bUpdate)
{
    const DWORD dwOld = m_dwScrollItemStyle;
    if (dwAdd == 0 && dwRemove == 0)
        return dwOld;
    m_dwScrollItemStyle = (m_dwScrollItemStyle & ~dwRemove) | dwAdd;
    if (bUpdate && ::IsWindow(m_hWnd))
    {
        UpdateScrollBars();
        Redraw();
    }
    return dwOld;
}

DWORD CExtScrollItemWnd::ModifyScrollItemStyleEx(DWORD dwAdd, DWORD dwRemove, bool bUpdate)
{
    const DWORD dwOld = m_dwScrollItemStyleEx;
    if (dwAdd == 0 && dwRemove == 0)
        return dwOld;
    m_dwScrollItemStyleEx = (m_dwScrollItemStyleEx & ~dwRemove) | dwAdd;
    if (bUpdate && ::IsWindow(m_hWnd))
    {
        UpdateScrollBars();
        Redraw();
    }
    return dwOld;
}

int CExtScrollItemWnd::SetScrollTypeH(int nType, bool bUpdate)
{
    const int nOld = GetScrollTypeH();
    if (nOld != (nType & 3))
        ModifyScrollItemStyle((DWORD)(nType & 3), 3, bUpdate);
    return nOld;
}

int CExtScrollItemWnd::SetScrollTypeV(int nType, bool bUpdate)
{
    const int nOld = GetScrollTypeV();
    if (nOld != (nType & 3))
        ModifyScrollItemStyle((DWORD)(nType & 3) << 2, 0xC, bUpdate);
    return nOld;
}

// ---- sizes ------------------------------------------------------------------------

void CExtScrollItemWnd::GetTotalSize(CSize& size)
{
    size.cx = GetScrollTypeH() == __ESIS_ST_UNBOUNDED ? 0x7FFFFFFF : 0;
    size.cy = GetScrollTypeV() == __ESIS_ST_UNBOUNDED ? 0x7FFFFFFF : 0;
}

void CExtScrollItemWnd::GetPageSize(CSize& size, int nDirection)
{
    GetPageSizeInItems(size, nDirection);
    const int nTypeH = GetScrollTypeH(), nTypeV = GetScrollTypeV();
    if (nTypeH == __ESIS_ST_NONE)
        size.cx = 0;
    if (nTypeV == __ESIS_ST_NONE)
        size.cy = 0;
    if (nTypeH == __ESIS_ST_PIXEL || nTypeV == __ESIS_ST_PIXEL)
    {
        RECT rc;
        GetClientRectEx(&rc);
        if (nTypeH == __ESIS_ST_PIXEL)
            size.cx = std::max(0L, rc.right - rc.left);
        if (nTypeV == __ESIS_ST_PIXEL)
            size.cy = std::max(0L, rc.bottom - rc.top);
    }
}

namespace {
int LineStepOfType(int nType)
{
    // One pixel step for the whole process, fixed the first time it is asked for.
    static const int s_nPixelStep = 3;
    switch (nType)
    {
    case CExtScrollItemWnd::__ESIS_ST_PIXEL: return s_nPixelStep;
    case CExtScrollItemWnd::__ESIS_ST_ITEM:
    case CExtScrollItemWnd::__ESIS_ST_UNBOUNDED: return 1;
    default: return 0;
    }
}
}  // namespace

void CExtScrollItemWnd::GetLineSize(CSize& size, int)
{
    size.cx = LineStepOfType(GetScrollTypeH());
    size.cy = LineStepOfType(GetScrollTypeV());
}

bool CExtScrollItemWnd::IsScrollBarAutoHide(bool bHorz)
{
    return (GetScrollItemStyle() & (bHorz ? __ESIS_DISABLE_AUTOHIDE_H : __ESIS_DISABLE_AUTOHIDE_V)) == 0;
}

bool CExtScrollItemWnd::IsThumbTrackEnabled(bool bHorz)
{
    if ((GetScrollItemStyle() & (bHorz ? __ESIS_NO_THUMB_TRACK_H : __ESIS_NO_THUMB_TRACK_V)) != 0)
        return false;
    if ((bHorz ? GetScrollTypeH() : GetScrollTypeV()) != __ESIS_ST_UNBOUNDED)
        return true;
    // Only the themed bar follows an unbounded thumb.
    CScrollBar* pBar = ExternalBar(bHorz ? SB_HORZ : SB_VERT);
    return pBar != NULL && pBar->IsKindOf(RUNTIME_CLASS(CExtScrollBar)) &&
           static_cast<CExtScrollBar*>(pBar)->m_bThemedLook;
}

void CExtScrollItemWnd::GetDeviceScrollPosition(POINT& pt) { pt.x = pt.y = 0; }

void CExtScrollItemWnd::GetItemSize(CSize& size) { size = CSize(0, 0); }

void CExtScrollItemWnd::GetPageSizeInItems(CSize& size, int)
{
    RECT rc;
    GetClientRectEx(&rc);
    const LONG cx = std::max(0L, rc.right - rc.left), cy = std::max(0L, rc.bottom - rc.top);
    CSize sizeItem;
    GetItemSize(sizeItem);
    size.cx = sizeItem.cx != 0 ? std::max(1L, cx / sizeItem.cx) : 0;
    size.cy = sizeItem.cy != 0 ? std::max(1L, cy / sizeItem.cy) : 0;
}

bool CExtScrollItemWnd::IsItemRangeLimitedAtStart(bool bHorz)
{
    return (bHorz ? GetScrollTypeH() : GetScrollTypeV()) != __ESIS_ST_UNBOUNDED;
}

bool CExtScrollItemWnd::IsItemRangeLimitedAtEnd(bool bHorz)
{
    return (bHorz ? GetScrollTypeH() : GetScrollTypeV()) != __ESIS_ST_UNBOUNDED;
}

RECT& CExtScrollItemWnd::GetVisibleRange(RECT& rc)
{
    CSize sizeTotal, sizePage;
    GetTotalSize(sizeTotal);
    GetPageSizeInItems(sizePage, 0);
    POINT pos;
    GetScrollPosition(pos);
    const int arrTypes[2] = {GetScrollTypeH(), GetScrollTypeV()};
    const LONG arrTotal[2] = {sizeTotal.cx, sizeTotal.cy};
    const LONG arrPage[2] = {sizePage.cx, sizePage.cy};
    const LONG arrPos[2] = {pos.x, pos.y};
    LONG arrStart[2], arrEnd[2];
    for (int i = 0; i < 2; i++)
    {
        const LONG nCount = arrTypes[i] == __ESIS_ST_NONE ? arrTotal[i] : std::min(arrPage[i], arrTotal[i]);
        if (arrTypes[i] == __ESIS_ST_UNBOUNDED)
        {
            arrStart[i] = 0;
            arrEnd[i] = nCount;
            continue;
        }
        arrStart[i] = arrPos[i];
        LONGLONG nEnd = (LONGLONG)arrPos[i] + nCount;
        if ((arrTypes[i] == __ESIS_ST_PIXEL || arrTypes[i] == __ESIS_ST_ITEM) && nEnd >= arrTotal[i])
            nEnd = (LONGLONG)arrTotal[i] - 1;
        if (nEnd < arrStart[i])
            nEnd = arrStart[i];
        arrEnd[i] = (LONG)std::min<LONGLONG>(nEnd, 0x7FFFFFFF);
    }
    ::SetRect(&rc, arrStart[0], arrStart[1], arrEnd[0], arrEnd[1]);
    return rc;
}

// ---- scroll bars ------------------------------------------------------------------

void CExtScrollItemWnd::GetScrollBarState(CSize sizeClient, CSize& needSb, CSize& sizeRange,
                                          POINT& ptMove, bool bInsideClient)
{
    CSize sizeSb;
    GetScrollBarSizes(sizeSb);
    CSize sizeTotal;
    GetTotalSize(sizeTotal);
    sizeRange = sizeTotal - sizeClient;
    GetScrollPosition(ptMove);
    const POINT ptCurrent = ptMove;
    const int nTypeH = GetScrollTypeH(), nTypeV = GetScrollTypeV();
    bool bNeedH = sizeRange.cx > 0;
    if (!bNeedH)
        ptMove.x = 0;
    else if (bInsideClient && nTypeV == __ESIS_ST_PIXEL && IsScrollBarVisible(true))
        sizeRange.cy += sizeSb.cy;
    bool bNeedV = sizeRange.cy > 0;
    if (!bNeedV)
        ptMove.y = 0;
    else
    {
        if (bInsideClient && nTypeH == __ESIS_ST_PIXEL && IsScrollBarVisible(false))
            sizeRange.cx += sizeSb.cx;
        if (!bNeedH && sizeRange.cx >= 1)
        {
            bNeedH = true;
            if (nTypeV == __ESIS_ST_PIXEL)
                sizeRange.cy += sizeSb.cy;
        }
    }
    if (sizeRange.cx >= 1 && ptMove.x >= sizeRange.cx)
        ptMove.x = sizeRange.cx;
    if (sizeRange.cy >= 1 && ptMove.y >= sizeRange.cy)
        ptMove.y = sizeRange.cy;
    if (nTypeH >= __ESIS_ST_ITEM)
        ptMove.x = ptCurrent.x;
    if (nTypeV >= __ESIS_ST_ITEM)
        ptMove.y = ptCurrent.y;
    if (nTypeH == __ESIS_ST_NONE)
        bNeedH = false;
    if (nTypeV == __ESIS_ST_NONE)
        bNeedV = false;
    needSb = CSize(bNeedH ? 1 : 0, bNeedV ? 1 : 0);
}

void CExtScrollItemWnd::UpdateScrollBarsOfAxis(bool bHorz, const CSize& needSb,
                                               const CSize& sizeClient, const CSize& sizeRange,
                                               bool bBothVisibleBefore)
{
    const int nBar = bHorz ? SB_HORZ : SB_VERT;
    const int nType = bHorz ? GetScrollTypeH() : GetScrollTypeV();
    CSize sizeTotal, sizePage;
    GetTotalSize(sizeTotal);
    GetPageSize(sizePage, 0);
    LONG nTotal = bHorz ? sizeTotal.cx : sizeTotal.cy;
    if (nTotal < 0)
        nTotal = 0x7FFFFFFF;
    const LONG nPage = bHorz ? sizePage.cx : sizePage.cy;
    SCROLLINFO si;
    ::memset(&si, 0, sizeof(si));
    si.cbSize = sizeof(si);
    si.fMask = SIF_RANGE | SIF_PAGE;
    switch (nType)
    {
    case __ESIS_ST_NONE:
        EnableScrollBarCtrl(nBar, false);
        break;
    case __ESIS_ST_PIXEL: {
        const bool bNeeded = (bHorz ? needSb.cx : needSb.cy) != 0;
        EnableScrollBarCtrl(nBar, bNeeded);
        if (!bNeeded)
            break;
        si.nPage = bHorz ? sizeClient.cx : sizeClient.cy;
        si.nMax = nTotal - 1;
        if (bBothVisibleBefore)
        {
            CSize sizeSb;
            GetScrollBarSizes(sizeSb);
            si.nMax += bHorz ? sizeSb.cx : sizeSb.cy;
        }
        if (!SetScrollInfo(nBar, &si, true))
            SetScrollRange(nBar, 0, bHorz ? sizeRange.cx : sizeRange.cy, true);
        break;
    }
    case __ESIS_ST_ITEM:
        if (nTotal <= nPage)
        {
            EnableScrollBarCtrl(nBar, false);
            break;
        }
        EnableScrollBarCtrl(nBar, true);
        si.nPage = (UINT)nPage;
        si.nMax = nTotal - 1;
        if (!SetScrollInfo(nBar, &si, true))
            SetScrollRange(nBar, 0, nTotal, true);
        break;
    default: {
        const bool bStart = IsItemRangeLimitedAtStart(bHorz), bEnd = IsItemRangeLimitedAtEnd(bHorz);
        if (bStart && bEnd)
        {
            EnableScrollBarCtrl(nBar, false);
            break;
        }
        EnableScrollBarCtrl(nBar, true);
        // The thumb only tells whether the view stands at the start, the end or between.
        si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
        si.nMax = 0x7FFFFFFF;
        si.nPage = (UINT)nPage;
        si.nPos = bStart ? 0 : (bEnd ? 0x7FFFFFFE : 0x3FFFFFFF);
        SetScrollInfo(nBar, &si, true);
        // Some platforms count the range nMax - nMin + 1 in 32 bits, overflow on the full
        // range and stretch the page over everything; one position less keeps the page.
        int nPageRead = 0;
        GetScrollBarData(nBar, NULL, NULL, &nPageRead, NULL, NULL);
        if (nPageRead != (int)nPage)
        {
            si.nMax = 0x7FFFFFFE;
            SetScrollInfo(nBar, &si, true);
        }
        break;
    }
    }
}

void CExtScrollItemWnd::UpdateScrollBars()
{
    CUpdateScrollBarsPass pass(m_nUpdateScrollBarsLock);
    if (!pass.IsEntered())
        return;

    CSize sizeClient, sizeSb;
    bool bInsideClient = true;
    if (!MeasureScrollArea(sizeClient, sizeSb, bInsideClient))
        return;
    const int nTypeH = GetScrollTypeH(), nTypeV = GetScrollTypeV();
    if (nTypeH >= __ESIS_ST_ITEM || nTypeV >= __ESIS_ST_ITEM)
    {
        RECT rcRange;
        GetVisibleRange(rcRange);
        if (nTypeH >= __ESIS_ST_ITEM)
            sizeClient.cx = rcRange.right - rcRange.left;
        if (nTypeV >= __ESIS_ST_ITEM)
            sizeClient.cy = rcRange.bottom - rcRange.top;
    }
    const bool bVisibleH = IsScrollBarVisible(true), bVisibleV = IsScrollBarVisible(false);
    CSize needSb, sizeRange;
    POINT ptMove;
    GetScrollBarState(sizeClient, needSb, sizeRange, ptMove, bInsideClient);
    POINT ptNow;
    GetScrollPosition(ptNow);
    if (ptNow.x != ptMove.x || ptNow.y != ptMove.y)
        ScrollToPosition(ptMove);
    UpdateScrollBarsOfAxis(true, needSb, sizeClient, sizeRange, bVisibleH && bVisibleV);
    UpdateScrollBarsOfAxis(false, needSb, sizeClient, sizeRange, bVisibleH && bVisibleV);
    OnScrollBy(CSize(0, 0), false);
    RECT rc;
    CalcClientRect(&rc, true, NULL);
    if (bVisibleH != IsScrollBarVisible(true) || bVisibleV != IsScrollBarVisible(false))
        UpdateScrollBars();
}

// ---- scrolling --------------------------------------------------------------------

bool CExtScrollItemWnd::OnScroll(UINT nScrollCode, UINT nPos, bool bDoScroll)
{
    const int xOld = GetScrollPos(SB_HORZ, false), yOld = GetScrollPos(SB_VERT, false);
    int arrPos[2] = {xOld, yOld};
    for (int nAxis = 0; nAxis < 2; nAxis++)
    {
        const bool bHorz = nAxis == 0;
        const UINT nCode = bHorz ? (nScrollCode & 0xFF) : ((nScrollCode >> 8) & 0xFF);
        const bool bUnbounded = (bHorz ? GetScrollTypeH() : GetScrollTypeV()) == __ESIS_ST_UNBOUNDED;
        int& v = arrPos[nAxis];
        CSize sz;
        switch (nCode)
        {
        case SB_LINEUP: GetLineSize(sz, -1); v -= bHorz ? sz.cx : sz.cy; break;
        case SB_LINEDOWN: GetLineSize(sz, 1); v += bHorz ? sz.cx : sz.cy; break;
        case SB_PAGEUP: GetPageSize(sz, -1); v -= bHorz ? sz.cx : sz.cy; break;
        case SB_PAGEDOWN: {
            GetPageSize(sz, 1);
            const LONGLONG n = (LONGLONG)v + (bHorz ? sz.cx : sz.cy);
            v = (int)std::min<LONGLONG>(n, 0x7FFFFFFF);
            break;
        }
        case SB_TOP: v = 0; break;
        case SB_BOTTOM: v = 0x7FFFFFFF; break;
        case SB_THUMBTRACK:
            if (!IsThumbTrackEnabled(bHorz))
                return false;
            // fall through
        case SB_THUMBPOSITION:
            if (bUnbounded)
                v = nPos != 0 ? 0x7FFFFFFF : 0;
            else
                v = m_bUse32BitScrollInfo ? GetScrollPos(nAxis, true) : (int)nPos;
            break;
        default: break;
        }
    }
    const bool bResult = OnScrollBy(CSize(arrPos[0] - xOld, arrPos[1] - yOld), bDoScroll);
    if (bResult && bDoScroll && m_bUpdateOnScroll)
        UpdateWindowNow();
    return bResult;
}

namespace {
int ClampPosition(LONGLONG n, int nLimit)
{
    if (n > nLimit)
        n = nLimit;
    if (n < 0)
        n = 0;
    return (int)n;
}
}  // namespace

void CExtScrollItemWnd::ReportRange(int x, int xOld, int y, int yOld, bool* pbAccepted)
{
    const int nLimitH = GetScrollLimit(SB_HORZ), nLimitV = GetScrollLimit(SB_VERT);
    CSize sizePage;
    GetPageSize(sizePage, 0);
    *pbAccepted = NotifyVisibleRange(x, xOld, nLimitH, std::max(0L, sizePage.cx), y, yOld, nLimitV,
                                     std::max(0L, sizePage.cy), x == 0, x == nLimitH && nLimitH >= 1,
                                     y == 0, y == nLimitV && nLimitV >= 1);
}

bool CExtScrollItemWnd::OnScrollBy(CSize sizeScroll, bool bDoScroll)
{
    if (!IsScrollBarVisible(true))
        sizeScroll.cx = 0;
    if (!IsScrollBarVisible(false))
        sizeScroll.cy = 0;
    const int xOld = GetScrollPos(SB_HORZ, false), yOld = GetScrollPos(SB_VERT, false);
    const int x = ClampPosition((LONGLONG)xOld + sizeScroll.cx, GetScrollLimit(SB_HORZ));
    const int y = ClampPosition((LONGLONG)yOld + sizeScroll.cy, GetScrollLimit(SB_VERT));
    bool bAccepted = false;
    ReportRange(x, xOld, y, yOld, &bAccepted);
    if (!bAccepted)
        return false;
    if ((x == xOld && y == yOld) || !bDoScroll)
        return true;
    CSize sizeItem;
    GetItemSize(sizeItem);
    ScrollWindowBy((xOld - x) * sizeItem.cx, (yOld - y) * sizeItem.cy, NULL, NULL);
    if (x != xOld)
        SetScrollPos(SB_HORZ, x, true);
    if (y != yOld)
        SetScrollPos(SB_VERT, y, true);
    return true;
}

bool CExtScrollItemWnd::SyncScrollPosition(int x, int y, bool bApply)
{
    const int xOld = GetScrollPos(SB_HORZ, false), yOld = GetScrollPos(SB_VERT, false);
    int xNew = xOld, yNew = yOld;
    if (bApply || IsScrollBarVisible(true))
        xNew = ClampPosition(x < 0 ? xOld : x, GetScrollLimit(SB_HORZ));
    if (bApply || IsScrollBarVisible(false))
        yNew = ClampPosition(y < 0 ? yOld : y, GetScrollLimit(SB_VERT));
    if (bApply)
    {
        if (xNew != xOld)
            SetScrollPos(SB_HORZ, xNew, false);
        if (yNew != yOld)
            SetScrollPos(SB_VERT, yNew, false);
    }
    m_rangeLast.Clear();
    bool bAccepted = false;
    ReportRange(xNew, xOld, yNew, yOld, &bAccepted);
    if (bApply)
    {
        UpdateScrollBars();
        Redraw();
    }
    return bAccepted;
}

bool CExtScrollItemWnd::OnVisibleRangeChanging(const SCROLL_POSITION_INFO&, const SCROLL_POSITION_INFO&)
{
    return true;
}

bool CExtScrollItemWnd::NotifyVisibleRange(int nPosH, int, int nLimitH, int nPageH, int nPosV,
                                           int, int nLimitV, int nPageV, bool bBeginH,
                                           bool bEndH, bool bBeginV, bool bEndV)
{
    SCROLL_POSITION_INFO next;
    // The last row, partly shown, counts as one more item of the page.
    if (GetScrollTypeV() >= __ESIS_ST_ITEM && IsScrollBarVisible(false) && nPosV < nLimitV)
        nPageV++;
    next.Set(nPosH, nLimitH, nPageH, nPosV, nLimitV, nPageV, bBeginH, bEndH, bBeginV, bEndV);
    if (next.IsEqualNumbers(m_rangeLast))
        return true;
    if (!OnVisibleRangeChanging(next, m_rangeLast))
        return false;
    m_rangeLast = next;
    return true;
}

// ---- painting ---------------------------------------------------------------------

bool CExtScrollItemWnd::IsFocused()
{
    if (!::IsWindow(m_hWnd))
        return false;
    HWND hWndFocus = ::GetFocus();
    return hWndFocus != NULL && (hWndFocus == m_hWnd || ::IsChild(m_hWnd, hWndFocus));
}

void CExtScrollItemWnd::OnDrawFocusRect(CDC& dc, const RECT& rc)
{
    const COLORREF clrTextOld = dc.SetTextColor(GetColor(COLOR_WINDOWTEXT));
    const COLORREF clrBkOld = dc.SetBkColor(RGB(0, 0, 0));
    dc.DrawFocusRect(&rc);
    dc.SetBkColor(clrBkOld);
    dc.SetTextColor(clrTextOld);
}

COLORREF CExtScrollItemWnd::GetColor(int nColorIndex)
{
    if ((GetScrollItemStyleEx() & __ESIS_EX_PM_COLORS_FONTS) != 0)
    {
        CExtPaintManager* pPM = GetPaintManager();
        if (pPM != NULL)
            return pPM->LookupColor(nColorIndex, this, 0);
    }
    return ::GetSysColor(nColorIndex);
}

CFont* CExtScrollItemWnd::GetFont(int nFontIndex)
{
    CExtPaintManager* pPM = GetPaintManager();
    if (pPM == NULL)
        return NULL;
    // The paint manager's font pairs: its own font first, the plain system form second.
    CFont* arrPairs[6][2] = {
        {&pPM->m_FontBold, &pPM->m_FontBoldBC},
        {&pPM->m_FontNormalVert, &pPM->m_FontNormalVertBC},
        {&pPM->m_FontBoldVert, &pPM->m_FontBoldVertBC},
        {&pPM->m_FontNormalVertX, &pPM->m_FontNormalVertXBC},
        {&pPM->m_FontNormal, &pPM->m_FontNormalBC},
        {&pPM->m_FontBoldVertX, &pPM->m_FontBoldVertXBC},
    };
    int nPair;
    switch (nFontIndex)
    {
    case 1: nPair = 0; break;
    case -1: nPair = 1; break;
    case 2: nPair = 2; break;
    case -2: nPair = 3; break;
    case -3: nPair = 5; break;
    default: nPair = 4; break;
    }
    const bool bFirst = (GetScrollItemStyleEx() & __ESIS_EX_PM_COLORS_FONTS) != 0;
    return arrPairs[nPair][bFirst ? 0 : 1];
}

CFont* CExtScrollItemWnd::GetPaintFont()
{
    CExtPaintManager* pPM = GetPaintManager();
    return pPM != NULL ? &pPM->m_FontNormal : NULL;
}

void CExtScrollItemWnd::OnPaintContent(CDC& dc)
{
    const bool bFocused = IsFocused();
    OnPaintItemsBackground(dc, bFocused);
    OnPaintItems(dc, bFocused);
}

void CExtScrollItemWnd::OnPaintItemsBackground(CDC& dc, bool)
{
    RECT rcClient;
    GetClientRect(&rcClient);
    if (!dc.RectVisible(&rcClient))
        return;
    RECT rcContent;
    GetClientRectEx(&rcContent);
    if (!::EqualRect(&rcContent, &rcClient))
        dc.FillSolidRect(&rcClient, GetColor(COLOR_3DFACE));
    if (dc.RectVisible(&rcContent))
        dc.FillSolidRect(&rcContent, GetColor(COLOR_WINDOW));
}

void CExtScrollItemWnd::OnPaintItems(CDC& dc, bool)
{
    RECT rcContent;
    GetClientRectEx(&rcContent);
    if (!dc.RectVisible(&rcContent))
        return;
    RECT rcRange;
    GetVisibleRange(rcRange);
    if (rcRange.right < rcRange.left || rcRange.bottom < rcRange.top)
        return;
    CSize sizeItem;
    GetItemSize(sizeItem);
    if (sizeItem.cx <= 0 || sizeItem.cy <= 0)
        return;
    const int nTypeH = GetScrollTypeH(), nTypeV = GetScrollTypeV();
    const bool bItemH = nTypeH >= __ESIS_ST_ITEM, bItemV = nTypeV >= __ESIS_ST_ITEM;
    if (!bItemH && !bItemV)
        return;
    // The outer walk runs over an item axis.
    bool bByColumns = (GetScrollItemStyle() & __ESIS_PAINT_BY_COLUMNS) != 0;
    if (!bByColumns && !bItemV)
        bByColumns = true;
    else if (bByColumns && !bItemH)
        bByColumns = false;
    const int nSaved = dc.SaveDC();
    dc.IntersectClipRect(&rcContent);
    dc.SetTextColor(GetColor(COLOR_BTNTEXT));
    dc.SetBkMode(TRANSPARENT);
    CFont* pFont = GetPaintFont();
    if (pFont != NULL && pFont->GetSafeHandle() != NULL)
        dc.SelectObject(pFont);
    if (bByColumns)
        WalkColumns(dc, rcContent, rcRange);
    else
        WalkRows(dc, rcContent, rcRange);
    dc.RestoreDC(nSaved);
}

void CExtScrollItemWnd::WalkRows(CDC& dc, const RECT& rcContent, const RECT& rcRange)
{
    int y = rcContent.top;
    bool bStop = false;
    for (int nRow = rcRange.top; nRow <= rcRange.bottom && y < rcContent.bottom && !bStop; nRow++)
    {
        int nBefore = 0, nAfter = 0;
        const int h = QueryRowExtent(nRow, &nBefore, &nAfter);
        if (h <= 0)
            continue;
        const RECT rcRow = {rcContent.left, y, rcContent.right, y + h};
        const RECT rcInner = {rcContent.left, y + nBefore, rcContent.right, y + h - nAfter};
        WalkVisibleColumns(&dc, 0, rcRow, rcInner, nRow - rcRange.top, nRow, rcRange, bStop, 0, 0);
        y += h;
    }
}

void CExtScrollItemWnd::WalkColumns(CDC& dc, const RECT& rcContent, const RECT& rcRange)
{
    int x = rcContent.left;
    bool bStop = false;
    for (int nColumn = rcRange.left; nColumn <= rcRange.right && x < rcContent.right && !bStop;
         nColumn++)
    {
        int nBefore = 0, nAfter = 0;
        const int w = QueryColumnExtent(nColumn, &nBefore, &nAfter);
        if (w <= 0)
            continue;
        const RECT rcColumn = {x, rcContent.top, x + w, rcContent.bottom};
        const RECT rcInner = {x + nBefore, rcContent.top, x + w - nAfter, rcContent.bottom};
        WalkVisibleRows(&dc, 0, rcColumn, rcInner, nColumn - rcRange.left, nColumn, rcRange, bStop,
                        0, 0);
        x += w;
    }
}

int CExtScrollItemWnd::QueryColumnExtent(int, int* pBefore, int* pAfter)
{
    if (pBefore != NULL)
        *pBefore = 0;
    if (pAfter != NULL)
        *pAfter = 0;
    return 0;
}

int CExtScrollItemWnd::QueryRowExtent(int, int* pBefore, int* pAfter)
{
    if (pBefore != NULL)
        *pBefore = 0;
    if (pAfter != NULL)
        *pAfter = 0;
    return 0;
}

bool CExtScrollItemWnd::OnWalkColumnBegin(int, LPARAM) { return false; }
bool CExtScrollItemWnd::OnWalkRowBegin(int, LPARAM) { return false; }

bool CExtScrollItemWnd::OnWalkItem(CDC*, DWORD, int, int, int, int, const RECT&, const RECT&,
                                   const RECT&, bool&, bool&, LPARAM, LPARAM)
{
    return false;
}

bool CExtScrollItemWnd::WalkVisibleColumns(CDC* pDC, DWORD dwFlags, const RECT& rcRow,
                                           const RECT& rcRowInner, int nVisibleRow, int nRow,
                                           const RECT& rcRange, bool& bStop, LPARAM lParam1,
                                           LPARAM lParam2)
{
    bStop = OnWalkRowBegin(nRow, lParam1);
    if (bStop || ::IsRectEmpty(&rcRow) || pDC == NULL || pDC->GetSafeHdc() == NULL)
        return false;
    if (!pDC->RectVisible(&rcRowInner))
        return false;
    RECT rcContent;
    GetClientRectEx(&rcContent);
    int x = rcContent.left;
    for (int nColumn = rcRange.left; nColumn <= rcRange.right && x < rcContent.right; nColumn++)
    {
        int nBefore = 0, nAfter = 0;
        const int w = QueryColumnExtent(nColumn, &nBefore, &nAfter);
        const int xStart = x;
        x += w;
        if (w <= 0 || x <= rcContent.left)
            continue;
        const RECT rcItem = {xStart, rcRow.top, x, rcRow.bottom};
        const RECT rcInner = {xStart + nBefore, rcRowInner.top, x - nAfter, rcRowInner.bottom};
        bool bStopItem = false;
        OnWalkItem(pDC, dwFlags, nColumn - rcRange.left, nVisibleRow, nColumn, nRow, rcItem,
                   rcInner, rcRange, bStop, bStopItem, lParam1, lParam2);
        if (bStop || bStopItem)
            break;
    }
    return false;
}

bool CExtScrollItemWnd::WalkVisibleRows(CDC* pDC, DWORD dwFlags, const RECT& rcColumn,
                                        const RECT& rcColumnInner, int nVisibleColumn,
                                        int nColumn, const RECT& rcRange, bool& bStop,
                                        LPARAM lParam1, LPARAM lParam2)
{
    bStop = OnWalkColumnBegin(nColumn, lParam1);
    if (bStop || ::IsRectEmpty(&rcColumn) || pDC == NULL || pDC->GetSafeHdc() == NULL)
        return false;
    if (!pDC->RectVisible(&rcColumnInner))
        return false;
    RECT rcContent;
    GetClientRectEx(&rcContent);
    int y = rcContent.top;
    for (int nRow = rcRange.top; nRow <= rcRange.bottom && y < rcContent.bottom; nRow++)
    {
        int nBefore = 0, nAfter = 0;
        const int h = QueryRowExtent(nRow, &nBefore, &nAfter);
        const int yStart = y;
        y += h;
        if (h <= 0 || y <= rcContent.top)
            continue;
        const RECT rcItem = {rcColumn.left, yStart, rcColumn.right, y};
        const RECT rcInner = {rcColumnInner.left, yStart + nBefore, rcColumnInner.right, y - nAfter};
        bool bStopItem = false;
        OnWalkItem(pDC, dwFlags, nVisibleColumn, nRow - rcRange.top, nColumn, nRow, rcItem, rcInner,
                   rcRange, bStop, bStopItem, lParam1, lParam2);
        if (bStop || bStopItem)
            break;
    }
    return false;
}
