// The grid base window's shape: counts, extents, bands, visible ranges, scrolling an
// item into view, cell rectangles and the hit test.
#include "toolkit/grid/grid_base_wnd.h"
#include <algorithm>

IMPLEMENT_DYNCREATE(CExtGridBaseWnd, CExtScrollItemWnd)

BEGIN_MESSAGE_MAP(CExtGridBaseWnd, CExtScrollItemWnd)
    ON_MESSAGE(WM_WINDOWPOSCHANGED, OnWindowPosChangedMsg)
    ON_MESSAGE(WM_SIZE, OnGridSizeMsg)
    ON_MESSAGE(WM_KEYDOWN, OnKeyDownMsg)
    ON_MESSAGE(WM_CANCELMODE, OnCancelModeMsg)
    ON_MESSAGE(WM_SETCURSOR, OnSetCursorMsg)
    ON_MESSAGE(WM_CAPTURECHANGED, OnCaptureChangedMsg)
    ON_MESSAGE(WM_KILLFOCUS, OnKillFocusMsg)
    ON_MESSAGE(WM_SETFOCUS, OnSetFocusMsg)
    ON_MESSAGE(WM_SHOWWINDOW, OnShowWindowMsg)
    ON_MESSAGE(WM_ACTIVATEAPP, OnActivateAppMsg)
    ON_MESSAGE(WM_MOUSEACTIVATE, OnMouseActivateMsg)
    ON_MESSAGE(WM_GETDLGCODE, OnGetDlgCodeMsg)
    ON_MESSAGE(WM_MOUSEMOVE, OnMouseMoveMsg)
    ON_MESSAGE(WM_LBUTTONDOWN, OnLButtonDownMsg)
    ON_MESSAGE(WM_LBUTTONUP, OnLButtonUpMsg)
    ON_MESSAGE(WM_LBUTTONDBLCLK, OnLButtonDblClkMsg)
    ON_MESSAGE(WM_RBUTTONDOWN, OnOtherButtonMsg)
    ON_MESSAGE(WM_RBUTTONUP, OnOtherButtonMsg)
    ON_MESSAGE(WM_RBUTTONDBLCLK, OnOtherButtonMsg)
    ON_MESSAGE(WM_MBUTTONDOWN, OnOtherButtonMsg)
    ON_MESSAGE(WM_MBUTTONUP, OnOtherButtonMsg)
    ON_MESSAGE(WM_MBUTTONDBLCLK, OnOtherButtonMsg)
    ON_MESSAGE(WM_SYSKEYDOWN, OnSysKeyMsg)
    ON_MESSAGE(WM_SYSKEYUP, OnSysKeyMsg)
    ON_MESSAGE(WM_KEYUP, OnKeyUpMsg)
    ON_MESSAGE(WM_TIMER, OnTimerMsg)
    ON_REGISTERED_MESSAGE(CExtContentExpandWnd::g_nMsgPaintItemContent, OnPaintItemContentMsg)
END_MESSAGE_MAP()

// The toolkit's cursors come from the application's module, whatever resource module
// is current at the time.
HCURSOR CExtGridBaseWnd::LoadAppCursor(UINT nId)
{
    HINSTANCE hInstance = AfxGetInstanceHandle();
    HINSTANCE hOld = AfxGetResourceHandle();
    AfxSetResourceHandle(hInstance);
    HCURSOR hCursor = ::LoadCursor(hInstance, MAKEINTRESOURCE(nId));
    AfxSetResourceHandle(hOld);
    return hCursor;
}

namespace {

const RECT g_rcEmpty = {0, 0, 0, 0};

}  // namespace

CExtGridBaseWnd::CExtGridBaseWnd()
    : m_nVirtualScrollMarks(0),
      m_nMouseActivateResult(MA_ACTIVATE),
      m_nScrollTypeRememberedH(__ESIS_ST_ITEM),
      m_nScrollTypeRememberedV(__ESIS_ST_ITEM),
      m_nMarginLeft(3),
      m_nMarginTop(3),
      m_nMarginRight(3),
      m_nMarginBottom(3),
      m_hCursorDefault(::LoadCursor(NULL, IDC_ARROW)),
      m_hCursorResizeColumn(LoadAppCursor(30262)),
      m_hCursorResizeRow(LoadAppCursor(30260)),
      m_hCursorInner(NULL),
      m_hCursorCheckBox(NULL),
      m_hCursorFocusArrow(NULL),
      m_hCursorSortArrow(NULL),
      m_hCursorIcon(NULL),
      m_nTrackingMode(__EGBWA_TRACKING_NONE),
      m_nCountRows(0),
      m_nCountColumns(0),
      m_nCountOuterTop(0),
      m_nCountOuterLeft(0),
      m_nCountOuterBottom(0),
      m_nCountOuterRight(0),
      m_nExtentColumnDefault(60),
      m_nExtentRowDefault(std::max(18, ::GetSystemMetrics(SM_CYHSCROLL) + 1)),
      m_rcOuterTop(g_rcEmpty),
      m_rcOuterBottom(g_rcEmpty),
      m_rcOuterLeft(g_rcEmpty),
      m_rcOuterRight(g_rcEmpty),
      m_rcOuterTopLeft(g_rcEmpty),
      m_rcOuterTopRight(g_rcEmpty),
      m_rcOuterBottomLeft(g_rcEmpty),
      m_rcOuterBottomRight(g_rcEmpty),
      m_rcClientCached(g_rcEmpty),
      m_ptFocus{-1, -1},
      m_htiHover(-1, -1),
      m_htiTracking(-1, -1),
      m_htiExpanded(-1, -1),
      m_htiOuterPressed(-1, -1),
      m_htiDragPress(-1, -1),
      m_nTimerIds{654, 653, 652, 651},
      m_mapExtentsLeft(10),
      m_mapExtentsRight(10),
      m_mapExtentsTop(10),
      m_mapExtentsBottom(10),
      m_dwContentExpandFlags(3),
      m_nTipMode(4),
      m_sizeTrackingOffset{0, 0},
      m_bCancelRunning(false),
      m_nResizeMin(0),
      m_nResizeMax(0),
      m_nTrackedExtent(0),
      m_nTrackedExtentStart(0),
      m_nTrackerLine(-1)
{
    for (int i = 0; i < 4; i++)
    {
        m_hCursorSortClick[i] = NULL;
        m_hCursorButton[i] = NULL;
    }
}

CExtGridBaseWnd::~CExtGridBaseWnd()
{
    // The shared arrow is the system's; every other handle is ours.
    HCURSOR arrCursors[] = {m_hCursorResizeColumn, m_hCursorResizeRow, m_hCursorSortClick[0],
                            m_hCursorSortClick[1], m_hCursorSortClick[2], m_hCursorSortClick[3],
                            m_hCursorInner, m_hCursorCheckBox, m_hCursorButton[0], m_hCursorButton[1],
                            m_hCursorButton[2], m_hCursorButton[3], m_hCursorFocusArrow,
                            m_hCursorSortArrow, m_hCursorIcon};
    for (HCURSOR hCursor : arrCursors)
        if (hCursor != NULL && hCursor != m_hCursorDefault)
            ::DestroyCursor(hCursor);
}

void CExtGridBaseWnd::PreSubclassWindow()
{
    m_rcClientCached = g_rcEmpty;
    CExtScrollItemWnd::PreSubclassWindow();
    m_nCountColumns = GetScrollTypeH() == __ESIS_ST_UNBOUNDED ? -1 : 0;
    m_nCountRows = GetScrollTypeV() == __ESIS_ST_UNBOUNDED ? -1 : 0;
}

// ---- extents ------------------------------------------------------------------

int CExtGridBaseWnd::InnerExtent(bool bColumns, int nIndex, int* pBefore, int* pAfter)
{
    return bColumns ? QueryColumnExtent(nIndex, pBefore, pAfter) : QueryRowExtent(nIndex, pBefore, pAfter);
}

int CExtGridBaseWnd::QueryColumnExtent(int, int* pBefore, int* pAfter)
{
    if (pBefore != NULL)
        *pBefore = 0;
    if (pAfter != NULL)
        *pAfter = 0;
    return m_nExtentColumnDefault;
}

int CExtGridBaseWnd::QueryRowExtent(int, int* pBefore, int* pAfter)
{
    if (pBefore != NULL)
        *pBefore = 0;
    if (pAfter != NULL)
        *pAfter = 0;
    return m_nExtentRowDefault;
}

int CExtGridBaseWnd::ColumnExtentGet(bool bLeftBand, int nColNo, bool bZeroWithoutRows)
{
    if (bZeroWithoutRows && m_nCountRows == 0)
        return 0;
    int nExtent = 0;
    if ((bLeftBand ? m_mapExtentsLeft : m_mapExtentsRight).Lookup(nColNo, nExtent))
        return nExtent;
    return m_nExtentColumnDefault;
}

int CExtGridBaseWnd::RowExtentGet(bool bTopBand, int nRowNo, bool bZeroWithoutColumns)
{
    if (bZeroWithoutColumns && m_nCountColumns == 0)
        return 0;
    int nExtent = 0;
    if ((bTopBand ? m_mapExtentsTop : m_mapExtentsBottom).Lookup(nRowNo, nExtent))
        return nExtent;
    return m_nExtentRowDefault;
}

void CExtGridBaseWnd::ColumnExtentSet(bool bLeftBand, int nColNo, int nExtent)
{
    (bLeftBand ? m_mapExtentsLeft : m_mapExtentsRight).SetAt(nColNo, nExtent);
}

void CExtGridBaseWnd::RowExtentSet(bool bTopBand, int nRowNo, int nExtent)
{
    (bTopBand ? m_mapExtentsTop : m_mapExtentsBottom).SetAt(nRowNo, nExtent);
}

int CExtGridBaseWnd::GetDefaultColumnExtent() const { return m_nExtentColumnDefault; }
int CExtGridBaseWnd::GetDefaultRowExtent() const { return m_nExtentRowDefault; }

int CExtGridBaseWnd::SetDefaultColumnExtent(int nExtent, bool bRedraw)
{
    const int nOld = m_nExtentColumnDefault;
    if (nOld == nExtent)
        return nOld;
    m_nExtentColumnDefault = nExtent;
    if (bRedraw && ::IsWindow(m_hWnd))
        UpdateScrollBars(), Redraw();
    return nOld;
}

int CExtGridBaseWnd::SetDefaultRowExtent(int nExtent, bool bRedraw)
{
    const int nOld = m_nExtentRowDefault;
    if (nOld == nExtent)
        return nOld;
    m_nExtentRowDefault = nExtent;
    if (bRedraw && ::IsWindow(m_hWnd))
        UpdateScrollBars(), Redraw();
    return nOld;
}

void CExtGridBaseWnd::GetResizeMargins(RECT& rc) const
{
    ::SetRect(&rc, m_nMarginLeft, m_nMarginTop, m_nMarginRight, m_nMarginBottom);
}

bool CExtGridBaseWnd::GetColumnResizeRange(int, int& nMin, int& nMax)
{
    nMin = 0;
    nMax = 32767;
    return true;
}

bool CExtGridBaseWnd::GetRowResizeRange(int, int& nMin, int& nMax)
{
    nMin = 0;
    nMax = 32767;
    return true;
}

void CExtGridBaseWnd::ClampExtent(int& nValue, int nMin, int nMax)
{
    if (nValue < nMin)
        nValue = nMin;
    if (nValue > nMax)
        nValue = nMax;
}

int CExtGridBaseWnd::ItemOffset(bool bColumns, int nIndex)
{
    const int nCount = ItemCount(bColumns);
    if (nIndex < 0 || nIndex > nCount)
        return 0;
    if (GetScrollItemStyle() & (bColumns ? GRID_UNIFORM_COLUMNS : GRID_UNIFORM_ROWS))
        return nIndex * (bColumns ? m_nExtentColumnDefault : m_nExtentRowDefault);
    int nOffset = 0;
    for (int i = 0; i < nIndex; i++)
        nOffset += InnerExtent(bColumns, i, NULL, NULL);
    return nOffset;
}

int CExtGridBaseWnd::GetColumnOffset(int nColumn) { return ItemOffset(true, nColumn); }
int CExtGridBaseWnd::GetRowOffset(int nRow) { return ItemOffset(false, nRow); }

// ---- counts -------------------------------------------------------------------

int CExtGridBaseWnd::GetLeftOuterColumnCount() const { return m_nCountOuterLeft; }
int CExtGridBaseWnd::GetRightOuterColumnCount() const { return m_nCountOuterRight; }
int CExtGridBaseWnd::GetTopOuterRowCount() const { return m_nCountOuterTop; }
int CExtGridBaseWnd::GetBottomOuterRowCount() const { return m_nCountOuterBottom; }

namespace {

int StoreCount(CExtGridBaseWnd* pWnd, int& nField, int nCount, bool bRedraw)
{
    const int nOld = nField;
    if (nOld == nCount)
        return nOld;
    nField = std::max(0, nCount);
    if (bRedraw && ::IsWindow(pWnd->m_hWnd))
        pWnd->UpdateScrollBars(), pWnd->Redraw();
    return nOld;
}

}  // namespace

int CExtGridBaseWnd::SetLeftOuterColumnCount(int nCount, bool bRedraw)
{
    return StoreCount(this, m_nCountOuterLeft, nCount, bRedraw);
}
int CExtGridBaseWnd::SetRightOuterColumnCount(int nCount, bool bRedraw)
{
    return StoreCount(this, m_nCountOuterRight, nCount, bRedraw);
}
int CExtGridBaseWnd::SetTopOuterRowCount(int nCount, bool bRedraw)
{
    return StoreCount(this, m_nCountOuterTop, nCount, bRedraw);
}
int CExtGridBaseWnd::SetBottomOuterRowCount(int nCount, bool bRedraw)
{
    return StoreCount(this, m_nCountOuterBottom, nCount, bRedraw);
}

int CExtGridBaseWnd::GetColumnCount() const { return m_nCountColumns; }
int CExtGridBaseWnd::GetRowCount() const { return m_nCountRows; }
int CExtGridBaseWnd::SetColumnCount(int nCount, bool bRedraw) { return SetItemCount(true, nCount, bRedraw); }
int CExtGridBaseWnd::SetRowCount(int nCount, bool bRedraw) { return SetItemCount(false, nCount, bRedraw); }

int CExtGridBaseWnd::SetItemCount(bool bColumns, int nCount, bool bRedraw)
{
    int& nField = bColumns ? m_nCountColumns : m_nCountRows;
    const int nOld = nField;
    if (nOld == nCount)
        return nOld;
    if (nCount < -1)
        nCount = 0;
    nField = nCount;
    const int nShift = bColumns ? 0 : 2;
    const int nType = ScrollType(bColumns);
    const int nRemembered = bColumns ? m_nScrollTypeRememberedH : m_nScrollTypeRememberedV;
    if (nCount == -1 && nType != __ESIS_ST_UNBOUNDED)
    {
        (bColumns ? m_nScrollTypeRememberedH : m_nScrollTypeRememberedV) = nType;
        CExtScrollItemWnd::ModifyScrollItemStyle(DWORD(__ESIS_ST_UNBOUNDED) << nShift, DWORD(3) << nShift, false);
    }
    else if (nCount != -1 && nType == __ESIS_ST_UNBOUNDED)
        CExtScrollItemWnd::ModifyScrollItemStyle(DWORD(nRemembered) << nShift, DWORD(3) << nShift, false);
    if (bRedraw && ::IsWindow(m_hWnd))
        UpdateScrollBars(), Redraw();
    return nOld;
}

DWORD CExtGridBaseWnd::ModifyScrollItemStyle(DWORD dwAdd, DWORD dwRemove, bool bRedraw)
{
    const DWORD dwOld = CExtScrollItemWnd::ModifyScrollItemStyle(dwAdd, dwRemove, false);
    for (int nAxis = 0; nAxis < 2; nAxis++)
    {
        const bool bColumns = nAxis == 0;
        int& nCount = bColumns ? m_nCountColumns : m_nCountRows;
        const int nType = ScrollType(bColumns);
        if (nCount < 0 && nType < __ESIS_ST_UNBOUNDED)
            nCount = 0;
        else if (nCount >= 0 && nType == __ESIS_ST_UNBOUNDED)
            nCount = -1;
        if (nType != __ESIS_ST_UNBOUNDED)
            (bColumns ? m_nScrollTypeRememberedH : m_nScrollTypeRememberedV) = nType;
    }
    if (bRedraw && ::IsWindow(m_hWnd))
        UpdateScrollBars(), Redraw();
    return dwOld;
}

// ---- client area and bands ------------------------------------------------------

int CExtGridBaseWnd::OuterBandExtent(bool bColumns, bool bNear)
{
    const int nCount = bColumns ? (bNear ? m_nCountOuterLeft : m_nCountOuterRight)
                                : (bNear ? m_nCountOuterTop : m_nCountOuterBottom);
    int nSum = 0;
    for (int i = 0; i < nCount; i++)
        nSum += bColumns ? ColumnExtentGet(bNear, i) : RowExtentGet(bNear, i);
    return nSum;
}

namespace {

void Normalize(RECT& rc)
{
    if (rc.right < rc.left)
        std::swap(rc.left, rc.right);
    if (rc.bottom < rc.top)
        std::swap(rc.top, rc.bottom);
}

}  // namespace

void CExtGridBaseWnd::SplitBands(RECT& R)
{
    RECT* arrBands[] = {&m_rcOuterTop, &m_rcOuterBottom, &m_rcOuterLeft, &m_rcOuterRight,
                        &m_rcOuterTopLeft, &m_rcOuterTopRight, &m_rcOuterBottomLeft, &m_rcOuterBottomRight};
    for (RECT* pBand : arrBands)
        *pBand = g_rcEmpty;
    const int nTop = OuterBandExtent(false, true);
    if (nTop > 0)
    {
        m_rcOuterTop = R;
        m_rcOuterTop.bottom = R.top + nTop;
        R.top += nTop;
        R.bottom = std::max(R.bottom, R.top);
        m_rcOuterTop.right = std::max(m_rcOuterTop.right, m_rcOuterTop.left);
    }
    const int nBottom = OuterBandExtent(false, false);
    if (nBottom > 0)
    {
        m_rcOuterBottom = R;
        m_rcOuterBottom.top = R.bottom - nBottom;
        R.bottom = std::max(m_rcOuterBottom.top, R.top);
        if (m_rcOuterBottom.top < R.bottom)
        {
            // The two bands do not fit: the bottom one follows the top one.
            m_rcOuterBottom.top = R.bottom;
            m_rcOuterBottom.bottom = R.bottom + nBottom;
        }
    }
    const bool bTop = nTop > 0, bBottom = nBottom > 0;
    const int nLeft = OuterBandExtent(true, true);
    if (nLeft > 0)
    {
        m_rcOuterLeft = R;
        m_rcOuterLeft.right = R.left + nLeft;
        R.left += nLeft;
        R.right = std::max(R.right, R.left);
        if (bTop)
        {
            m_rcOuterTop.left = R.left;
            m_rcOuterTop.right = std::max(m_rcOuterTop.right, m_rcOuterTop.left);
            ::SetRect(&m_rcOuterTopLeft, m_rcOuterLeft.left, m_rcOuterTop.top, m_rcOuterLeft.right,
                      m_rcOuterTop.bottom);
            Normalize(m_rcOuterTopLeft);
        }
        if (bBottom)
        {
            m_rcOuterBottom.left = R.left;
            m_rcOuterBottom.right = std::max(m_rcOuterBottom.right, m_rcOuterBottom.left);
            ::SetRect(&m_rcOuterBottomLeft, m_rcOuterLeft.left, m_rcOuterBottom.top, m_rcOuterLeft.right,
                      m_rcOuterBottom.bottom);
            Normalize(m_rcOuterBottomLeft);
        }
    }
    const int nRight = OuterBandExtent(true, false);
    if (nRight > 0)
    {
        m_rcOuterRight = R;
        m_rcOuterRight.left = R.right - nRight;
        R.right = std::max(m_rcOuterRight.left, R.left);
        if (m_rcOuterRight.left < R.right)
        {
            m_rcOuterRight.left = R.right;
            m_rcOuterRight.right = R.right + nRight;
        }
        if (bTop)
        {
            m_rcOuterTop.right = R.right;
            ::SetRect(&m_rcOuterTopRight, m_rcOuterRight.left, m_rcOuterTop.top, m_rcOuterRight.right,
                      m_rcOuterTop.bottom);
            Normalize(m_rcOuterTopRight);
        }
        if (bBottom)
        {
            m_rcOuterBottom.right = R.right;
            ::SetRect(&m_rcOuterBottomRight, m_rcOuterRight.left, m_rcOuterBottom.top, m_rcOuterRight.right,
                      m_rcOuterBottom.bottom);
            Normalize(m_rcOuterBottomRight);
        }
    }
}

RECT* CExtGridBaseWnd::CalcClientRect(RECT* pRect, bool bReposition, const RECT* pRectSrc)
{
    RECT rc;
    CExtScrollItemWnd::CalcClientRect(&rc, bReposition, pRectSrc);
    SplitBands(rc);
    if (pRect != NULL)
        *pRect = rc;
    return pRect;
}

RECT* CExtGridBaseWnd::GetClientRectEx(RECT* pRect)
{
    if (::IsRectEmpty(&m_rcClientCached))
        CalcClientRect(&m_rcClientCached, false, NULL);
    if (pRect != NULL)
        *pRect = m_rcClientCached;
    return pRect;
}

void CExtGridBaseWnd::UpdateScrollBars()
{
    m_rcClientCached = g_rcEmpty;
    CExtScrollItemWnd::UpdateScrollBars();
}

// ---- sizes and ranges -------------------------------------------------------------

void CExtGridBaseWnd::GetTotalSize(CSize& size)
{
    LONG arrSize[2] = {0, 0};
    for (int nAxis = 0; nAxis < 2; nAxis++)
    {
        const bool bColumns = nAxis == 0;
        const int nCount = std::max(0, ItemCount(bColumns));
        switch (ScrollType(bColumns))
        {
        case __ESIS_ST_PIXEL:
            if (GetScrollItemStyle() & (bColumns ? GRID_UNIFORM_COLUMNS : GRID_UNIFORM_ROWS))
                arrSize[nAxis] = (LONG)std::min<LONGLONG>(
                    (LONGLONG)nCount * (bColumns ? m_nExtentColumnDefault : m_nExtentRowDefault), 0x7FFFFFFF);
            else
            {
                LONGLONG nSum = 0;
                for (int i = 0; i < nCount; i++)
                    nSum += InnerExtent(bColumns, i, NULL, NULL);
                arrSize[nAxis] = (LONG)std::min<LONGLONG>(nSum, 0x7FFFFFFF);
            }
            break;
        case __ESIS_ST_ITEM:
            arrSize[nAxis] = nCount;
            break;
        case __ESIS_ST_UNBOUNDED:
            arrSize[nAxis] = 0x7FFFFFFF;
            break;
        default:
            break;
        }
    }
    size.cx = arrSize[0];
    size.cy = arrSize[1];
}

void CExtGridBaseWnd::GetItemSize(CSize& size) { size = CSize(m_nExtentColumnDefault, m_nExtentRowDefault); }

void CExtGridBaseWnd::GetPageSizeInItems(CSize& size, int nDirection)
{
    CExtScrollItemWnd::GetPageSizeInItems(size, nDirection);
    RECT rc;
    GetClientRectEx(&rc);
    POINT pos;
    GetScrollPosition(pos);
    for (int nAxis = 0; nAxis < 2; nAxis++)
    {
        const bool bColumns = nAxis == 0;
        LONG& nResult = bColumns ? size.cx : size.cy;
        const LONG nClient = std::max(0L, bColumns ? rc.right - rc.left : rc.bottom - rc.top);
        const int nType = ScrollType(bColumns);
        if (nType == __ESIS_ST_PIXEL)
            nResult = nClient;
        else if (nType == __ESIS_ST_ITEM)
        {
            const int nCount = std::max(0, ItemCount(bColumns));
            const int p = std::max(0, std::min<int>(bColumns ? pos.x : pos.y, nCount));
            LONGLONG nSum = 0;
            int nItems = 0;
            bool bFull = false;
            if (nDirection >= 0)
            {
                for (int i = p; i < nCount && !bFull; i++)
                {
                    nSum += InnerExtent(bColumns, i, NULL, NULL);
                    if (nSum >= nClient)
                        bFull = true;
                    else
                        nItems++;
                }
            }
            if (nDirection < 0 || (!bFull && p > 0))
            {
                for (int i = p - 1; i >= 0 && !bFull; i--)
                {
                    nSum += InnerExtent(bColumns, i, NULL, NULL);
                    if (nSum >= nClient)
                        bFull = true;
                    else
                        nItems++;
                }
            }
            nResult = nItems;
        }
        if (nResult == 0)
            nResult = 1;
    }
}

bool CExtGridBaseWnd::IsItemRangeLimitedAtStart(bool bHorz)
{
    return (bHorz ? GetScrollTypeH() : GetScrollTypeV()) != __ESIS_ST_UNBOUNDED;
}

bool CExtGridBaseWnd::IsItemRangeLimitedAtEnd(bool bHorz)
{
    return (bHorz ? GetScrollTypeH() : GetScrollTypeV()) != __ESIS_ST_UNBOUNDED;
}

void CExtGridBaseWnd::GetVisibleRangeOfAxis(bool bColumns, int& nFirst, int& nLast, int& nOffset)
{
    RECT rcClient;
    GetClientRectEx(&rcClient);
    nFirst = 0;
    nLast = -1;
    nOffset = bColumns ? rcClient.left : rcClient.top;
    const LONG nClient = bColumns ? rcClient.right - rcClient.left : rcClient.bottom - rcClient.top;
    if (nClient <= 0 || (rcClient.right - rcClient.left) <= 0 || (rcClient.bottom - rcClient.top) <= 0)
        return;
    const int nType = ScrollType(bColumns);
    if (nType >= __ESIS_ST_ITEM)
    {
        RECT rcRange;
        GetVisibleRange(rcRange);
        nFirst = bColumns ? rcRange.left : rcRange.top;
        nLast = bColumns ? rcRange.right : rcRange.bottom;
        if (nType == __ESIS_ST_ITEM && nLast >= ItemCount(bColumns))
            nLast = ItemCount(bColumns) - 1;
        if (nLast < nFirst)
            nFirst = 0, nLast = -1;
        return;
    }
    const int nCount = ItemCount(bColumns);
    if (nCount <= 0)
        return;
    const LONG p = IsScrollBarVisible(bColumns) ? GetScrollPos(bColumns ? SB_HORZ : SB_VERT, false) : 0;
    const LONGLONG nWinStart = p, nWinEnd = (LONGLONG)p + nClient;
    LONGLONG x = 0;
    bool bAny = false;
    for (int i = 0; i < nCount; i++)
    {
        const int w = InnerExtent(bColumns, i, NULL, NULL);
        const LONGLONG nStart = x, nEnd = x + w;
        const bool bVisible = (nStart >= nWinStart && nStart <= nWinEnd) || (nEnd >= nWinStart && nEnd <= nWinEnd) ||
                              (nStart <= nWinStart && nEnd >= nWinEnd);
        // An item that ends where the window starts, or starts where it ends, shows nothing.
        const bool bShows = bVisible && nEnd > nWinStart && nStart < nWinEnd;
        if (bShows)
        {
            if (!bAny)
            {
                nFirst = i;
                nOffset = (int)(x - p + (bColumns ? rcClient.left : rcClient.top));
                bAny = true;
            }
            nLast = i;
        }
        else if (bAny)
            break;
        x = nEnd;
    }
    if (!bAny)
        nFirst = 0, nLast = -1;
}

void CExtGridBaseWnd::GetVisibleColumnRange(int& nFirst, int& nLast, int& nOffset)
{
    GetVisibleRangeOfAxis(true, nFirst, nLast, nOffset);
}

void CExtGridBaseWnd::GetVisibleRowRange(int& nFirst, int& nLast, int& nOffset)
{
    GetVisibleRangeOfAxis(false, nFirst, nLast, nOffset);
}

// ---- scrolling into view --------------------------------------------------------

bool CExtGridBaseWnd::EnsureColumnVisible(int nColumn, bool bRedraw) { return EnsureVisible(true, nColumn, bRedraw); }
bool CExtGridBaseWnd::EnsureRowVisible(int nRow, bool bRedraw) { return EnsureVisible(false, nRow, bRedraw); }

bool CExtGridBaseWnd::EnsureVisible(bool bColumns, int nIndex, bool bRedraw)
{
    if (nIndex < 0)
        return false;
    const int nType = ScrollType(bColumns);
    if (nType == __ESIS_ST_NONE)
        return true;
    if (nType == __ESIS_ST_UNBOUNDED || nIndex >= ItemCount(bColumns))
        return false;
    const int nBar = bColumns ? SB_HORZ : SB_VERT;
    const bool bShown = ::IsWindow(m_hWnd) && IsScrollBarVisible(bColumns);
    const int nPos = bShown ? GetScrollPos(nBar, false) : 0;
    if (!bShown || nPos > GetScrollLimit(nBar))
    {
        if (bRedraw && ::IsWindow(m_hWnd))
            Redraw();
        return true;
    }
    int nFirst, nLast, nOffset;
    GetVisibleRangeOfAxis(bColumns, nFirst, nLast, nOffset);
    RECT rcClient;
    GetClientRectEx(&rcClient);
    const int nClient = bColumns ? rcClient.right - rcClient.left : rcClient.bottom - rcClient.top;
    const bool bUniform = (GetScrollItemStyle() & (bColumns ? GRID_UNIFORM_COLUMNS : GRID_UNIFORM_ROWS)) != 0;
    const int nDefault = bColumns ? m_nExtentColumnDefault : m_nExtentRowDefault;
    const bool bPixel = nType == __ESIS_ST_PIXEL;
    int nNewPos = nPos;
    if (nIndex < nFirst || (nIndex == nFirst && bPixel))
        nNewPos = bPixel ? ItemOffset(bColumns, nIndex) : nIndex;
    else if (nIndex >= nLast && nLast >= nFirst)
    {
        if (bPixel)
        {
            if (bUniform)
                nNewPos = (nIndex + 1) * nDefault - nClient;
            else
                nNewPos = ItemOffset(bColumns, nIndex) + InnerExtent(bColumns, nIndex, NULL, NULL) - nClient;
            // Never past the item's own start: a item wider than the client shows its head.
            nNewPos = std::max(std::min(nNewPos, ItemOffset(bColumns, nIndex)), nPos);
        }
        else
        {
            int nFit = 0;
            if (bUniform)
                nFit = nDefault > 0 ? nClient / nDefault : 1;
            else
            {
                int nSum = 0;
                for (int i = nIndex; i >= 0; i--)
                {
                    nSum += InnerExtent(bColumns, i, NULL, NULL);
                    if (nSum >= nClient)
                        break;
                    nFit++;
                }
            }
            nFit = std::max(1, nFit);
            nNewPos = std::max(nPos, nIndex + 1 - nFit);
        }
    }
    const int nDistance = nNewPos - nPos;
    if (nDistance != 0)
        return OnScrollBy(bColumns ? CSize(nDistance, 0) : CSize(0, nDistance), true);
    if (bRedraw)
        Redraw();
    return true;
}

// ---- cell rectangles --------------------------------------------------------------

bool CExtGridBaseWnd::CellSpan(bool bColumns, int nIndex, int nType, LONG& nStart, LONG& nEnd, LONG& nCellStart,
                               LONG& nCellEnd, int* pnVisible)
{
    if (nType == 0)
    {
        int nFirst, nLast, nOffset;
        GetVisibleRangeOfAxis(bColumns, nFirst, nLast, nOffset);
        if (nIndex < nFirst || nIndex > nLast)
            return false;
        LONG x = nOffset;
        int nVisible = 0;
        for (int i = nFirst; i < nIndex; i++, nVisible++)
            x += InnerExtent(bColumns, i, NULL, NULL);
        int nBefore = 0, nAfter = 0;
        const int w = InnerExtent(bColumns, nIndex, &nBefore, &nAfter);
        nStart = x;
        nEnd = x + w;
        nCellStart = nStart + nBefore;
        nCellEnd = std::max(nCellStart, nEnd - nAfter);
        if (pnVisible != NULL)
            *pnVisible = nVisible;
        return true;
    }
    const bool bNear = nType < 0;
    const RECT& rcBand = bColumns ? (bNear ? m_rcOuterLeft : m_rcOuterRight) : (bNear ? m_rcOuterTop : m_rcOuterBottom);
    const int nCount = bColumns ? (bNear ? m_nCountOuterLeft : m_nCountOuterRight)
                                : (bNear ? m_nCountOuterTop : m_nCountOuterBottom);
    if (::IsRectEmpty(&rcBand) || nCount == 0 || nIndex < 0 || nIndex >= nCount)
        return false;
    LONG x = bColumns ? rcBand.left : rcBand.top;
    for (int i = 0; i < nIndex; i++)
        x += bColumns ? ColumnExtentGet(bNear, i) : RowExtentGet(bNear, i);
    nStart = nCellStart = x;
    nEnd = nCellEnd = x + (bColumns ? ColumnExtentGet(bNear, nIndex) : RowExtentGet(bNear, nIndex));
    if (pnVisible != NULL)
        *pnVisible = nIndex;
    return true;
}

bool CExtGridBaseWnd::GetCellRects(int nColumn, int nRow, int nColType, int nRowType, RECT* pRectExtent,
                                   RECT* pRectCell, int* pnVisibleColumn, int* pnVisibleRow)
{
    if (pRectExtent != NULL)
        *pRectExtent = g_rcEmpty;
    if (pRectCell != NULL)
        *pRectCell = g_rcEmpty;
    if (pnVisibleColumn != NULL)
        *pnVisibleColumn = -1;
    if (pnVisibleRow != NULL)
        *pnVisibleRow = -1;
    if (nColType != 0 && nRowType != 0)
        return false;
    RECT rcClient;
    GetClientRectEx(&rcClient);  // rebuilds the bands when the cache is cold
    RECT rcExtent, rcCell;
    int nVisibleColumn = -1, nVisibleRow = -1;
    if (!CellSpan(true, nColumn, nColType, rcExtent.left, rcExtent.right, rcCell.left, rcCell.right, &nVisibleColumn))
        return false;
    if (!CellSpan(false, nRow, nRowType, rcExtent.top, rcExtent.bottom, rcCell.top, rcCell.bottom, &nVisibleRow))
        return false;
    OnQueryCellIndent(nColumn, nRow, nColType, nRowType, rcExtent, rcCell);
    if (pRectExtent != NULL)
        *pRectExtent = rcExtent;
    if (pRectCell != NULL)
        *pRectCell = rcCell;
    if (pnVisibleColumn != NULL)
        *pnVisibleColumn = nVisibleColumn;
    if (pnVisibleRow != NULL)
        *pnVisibleRow = nVisibleRow;
    return true;
}

void CExtGridBaseWnd::OnQueryCellIndent(int, int, int, int, RECT&, RECT&) {}

bool CExtGridBaseWnd::IsWalkColumnSkipped(int, DWORD) { return false; }
bool CExtGridBaseWnd::IsWalkRowSkipped(int, DWORD) { return false; }

// ---- hit test -----------------------------------------------------------------------

void CExtGridBaseWnd::AddEdgeBits(HIT_TEST_INFO& hti)
{
    const RECT& rc = hti.m_rcItem;
    const POINT& pt = hti.m_ptClient;
    if (!::PtInRect(&rc, pt))
        return;
    if (pt.x < rc.left + m_nMarginLeft)
        hti.m_dwAreaFlags |= HIT_TEST_INFO::AREA_NEAR_LEFT_EDGE;
    if (pt.y < rc.top + m_nMarginTop)
        hti.m_dwAreaFlags |= HIT_TEST_INFO::AREA_NEAR_TOP_EDGE;
    if (pt.x >= rc.right - m_nMarginRight)
        hti.m_dwAreaFlags |= HIT_TEST_INFO::AREA_NEAR_RIGHT_EDGE;
    if (pt.y >= rc.bottom - m_nMarginBottom)
        hti.m_dwAreaFlags |= HIT_TEST_INFO::AREA_NEAR_BOTTOM_EDGE;
}

CExtGridBaseWnd::HIT_TEST_INFO& CExtGridBaseWnd::HitTest(HIT_TEST_INFO& hti, bool bAdjustEdges, bool bDropFirstEdges,
                                                         bool bTestFarHalf)
{
    hti.m_dwAreaFlags = 0;
    if (m_hWnd == NULL || !::IsWindow(m_hWnd))
        return hti;
    const POINT pt = hti.m_ptClient;
    hti.m_nRowNo = hti.m_nColNo = hti.m_nVisibleRowNo = hti.m_nVisibleColNo = -1;
    hti.m_rcItem = hti.m_rcExtra = hti.m_rcPart = g_rcEmpty;
    hti.m_nButtonType = -1;
    if (!OnPaintCells(NULL, false, &hti))
        return hti;
    // The walk hands outer indices over bit-inverted.
    if (hti.m_nColNo >= 0)
        hti.m_nRowNo = hti.m_nRowNo < 0 ? ~hti.m_nRowNo : hti.m_nRowNo;
    else if (hti.m_nRowNo >= 0)
        hti.m_nColNo = ~hti.m_nColNo;
    int nColumn = hti.m_nColNo, nRow = hti.m_nRowNo;
    const int nColType = hti.GetColumnType(), nRowType = hti.GetRowType();
    if (bAdjustEdges)
    {
        const DWORD dwArea = hti.m_dwAreaFlags;
        bool bMoved = false;
        if ((dwArea & HIT_TEST_INFO::AREA_NEAR_LEFT_EDGE) != 0 && nColumn >= 1)
        {
            hti.m_dwAreaFlags = (hti.m_dwAreaFlags & ~DWORD(HIT_TEST_INFO::AREA_NEAR_LEFT_EDGE)) |
                                HIT_TEST_INFO::AREA_NEAR_RIGHT_EDGE;
            hti.m_nColNo = --nColumn;
            bMoved = true;
        }
        if ((dwArea & HIT_TEST_INFO::AREA_NEAR_TOP_EDGE) != 0 && nRow >= 1)
        {
            hti.m_dwAreaFlags = (hti.m_dwAreaFlags & ~DWORD(HIT_TEST_INFO::AREA_NEAR_TOP_EDGE)) |
                                HIT_TEST_INFO::AREA_NEAR_BOTTOM_EDGE;
            hti.m_nRowNo = --nRow;
            bMoved = true;
        }
        if (bMoved)
        {
            int nVisC = -1, nVisR = -1;
            RECT rcE, rcC;
            // The item before may lie off screen; the record then keeps no rectangles.
            GetCellRects(nColumn, nRow, nColType, nRowType, &rcE, &rcC, &nVisC, &nVisR);
            hti.m_rcExtra = rcE;
            hti.m_rcItem = rcC;
            hti.m_nVisibleColNo = nVisC;
            hti.m_nVisibleRowNo = nVisR;
        }
    }
    if (bDropFirstEdges)
    {
        if (hti.m_nColNo == 0)
            hti.m_dwAreaFlags &= ~DWORD(HIT_TEST_INFO::AREA_NEAR_LEFT_EDGE);
        if (hti.m_nRowNo == 0)
            hti.m_dwAreaFlags &= ~DWORD(HIT_TEST_INFO::AREA_NEAR_TOP_EDGE);
    }
    if (bTestFarHalf && (nColType != 0 || nRowType != 0) && !::IsRectEmpty(&hti.m_rcItem))
    {
        const RECT& rc = hti.m_rcItem;
        const bool bFar = nColType != 0 ? pt.y >= rc.top + (rc.bottom - rc.top) / 2
                                        : pt.x >= rc.left + (rc.right - rc.left) / 2;
        if (bFar)
            hti.m_dwAreaFlags |= HIT_TEST_INFO::AREA_OUTER_FAR_HALF;
    }
    return hti;
}

// ---- unbounded axes -----------------------------------------------------------------

POINT CExtGridBaseWnd::ClipVirtualCell(const POINT& ptCell)
{
    POINT ptResult = {-1, -1};
    const bool bVirtH = GetScrollTypeH() == __ESIS_ST_UNBOUNDED && ptCell.x >= 0;
    const bool bVirtV = GetScrollTypeV() == __ESIS_ST_UNBOUNDED && ptCell.y >= 0;
    if (!bVirtH && !bVirtV)
        return ptResult;
    POINT pt = ptCell;
    RECT rcClient;
    GetClientRectEx(&rcClient);
    if (bVirtH)
    {
        while (IsWalkColumnSkipped(pt.x, 0x200))
        {
            if (pt.x == 0)
                return ptResult;
            pt.x--;
        }
        if (pt.x > 0)
        {
            HIT_TEST_INFO hti(rcClient.right - 1, rcClient.top + 1);
            HitTest(hti);
            if (hti.m_nColNo == pt.x && hti.m_rcExtra.right > rcClient.right)
                pt.x--;
        }
    }
    if (bVirtV)
    {
        while (IsWalkRowSkipped(pt.y, 0x200))
        {
            if (pt.y == 0)
                return ptResult;
            pt.y--;
        }
        if (pt.y > 0)
        {
            HIT_TEST_INFO hti(rcClient.left + 1, rcClient.bottom - 1);
            HitTest(hti);
            if (hti.m_nRowNo == pt.y && hti.m_rcExtra.bottom > rcClient.bottom)
                pt.y--;
        }
    }
    return pt;
}
