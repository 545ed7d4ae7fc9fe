// The group area: layout and painting of the staircase, hit testing, and the drag of a
// group-by button (click to reverse, drop to reorder, drop out to ungroup).
#include "toolkit/reportgrid/group_area_wnd.h"
#include <algorithm>
#include <windowsx.h>
#include "toolkit/dialogs/memory_dc.h"
#include "toolkit/grid/content_expand_wnd.h"
#include "toolkit/reportgrid/report_drag_loop.h"
#include "toolkit/reportgrid/report_grid_wnd.h"
#include "toolkit/theme/paint_manager.h"

IMPLEMENT_DYNCREATE(CExtReportGridGroupAreaWnd, CWnd)

const char* const CExtReportGridGroupAreaWnd::g_sWndClassName = "Kestrix-ReportGroupArea";
CExtReportGridColumn* CExtReportGridGroupAreaWnd::g_pColumnDragging = NULL;

bool CExtReportGridGroupAreaWnd::RegisterGroupAreaWndClass()
{
    static bool s_bRegistered = false;
    if (s_bRegistered)
        return true;
    HINSTANCE hInst = ::AfxGetInstanceHandle();
    WNDCLASSA wc;
    if (!::GetClassInfoA(hInst, g_sWndClassName, &wc))
    {
        ::memset(&wc, 0, sizeof(wc));
        wc.style = CS_DBLCLKS | CS_GLOBALCLASS;
        wc.lpfnWndProc = ::DefWindowProcA;
        wc.hInstance = hInst;
        wc.hCursor = ::LoadCursor(NULL, IDC_ARROW);
        wc.lpszClassName = g_sWndClassName;
        if (!::RegisterClassA(&wc))
            return false;
    }
    s_bRegistered = true;
    return true;
}

CExtReportGridGroupAreaWnd::CExtReportGridGroupAreaWnd(CExtReportGridWnd* pWndReport)
    : m_pWndReport(pWndReport),
      m_pColumnDragged(NULL),
      m_bCreatedDirectly(false),
      m_bAutoDelete(pWndReport == NULL),
      m_nMinHeight(34),
      m_nMaxItemWidth(200)
{
    m_rcMargins.left = 10;
    m_rcMargins.top = 8;
    m_rcMargins.right = 10;
    m_rcMargins.bottom = 7;
    RegisterGroupAreaWndClass();
}

CExtReportGridGroupAreaWnd::~CExtReportGridGroupAreaWnd() = default;

bool CExtReportGridGroupAreaWnd::OnQueryAllowSubclassing() { return true; }
int CExtReportGridGroupAreaWnd::MinHeightGet() const { return m_nMinHeight; }
int CExtReportGridGroupAreaWnd::MinHeightSet(int nHeight) { return m_nMinHeight = std::max(nHeight, 1); }
int CExtReportGridGroupAreaWnd::MaxItemWidthGet() const { return m_nMaxItemWidth; }
int CExtReportGridGroupAreaWnd::MaxItemWidthSet(int nWidth) { return m_nMaxItemWidth = std::max(nWidth, 1); }
RECT CExtReportGridGroupAreaWnd::MarginsGet() const { return m_rcMargins; }

void CExtReportGridGroupAreaWnd::MarginsSet(const RECT& rcMargins)
{
    m_rcMargins.left = std::max<LONG>(rcMargins.left, 0);
    m_rcMargins.top = std::max<LONG>(rcMargins.top, 0);
    m_rcMargins.right = std::max<LONG>(rcMargins.right, 0);
    m_rcMargins.bottom = std::max<LONG>(rcMargins.bottom, 0);
}

const CExtReportGridSortOrder* CExtReportGridGroupAreaWnd::GetReportSortOrder()
{
    if (m_pWndReport == NULL || m_pWndReport->GetSafeHwnd() == NULL)
        return NULL;
    return &m_pWndReport->SortOrderGet();
}

SIZE CExtReportGridGroupAreaWnd::GetItemStep() const
{
    SIZE size = {4, 9};
    return size;
}

void CExtReportGridGroupAreaWnd::GetConnectorInfo(CPen* pPen, int& nInsetH, int& nLengthV)
{
    if (pPen != NULL)
    {
        if (pPen->GetSafeHandle() != NULL)
            pPen->DeleteObject();
        pPen->CreatePen(PS_SOLID, 1, ::GetSysColor(COLOR_BTNTEXT));
    }
    nInsetH = 6;
    nLengthV = 3;
}

void CExtReportGridGroupAreaWnd::MeasureItem(SIZE& size, CExtReportGridColumn* pColumn)
{
    size.cx = size.cy = 0;
    if (pColumn == NULL)
        return;
    const CSize sizeHeader = pColumn->MeasureHeader();
    size.cx = std::min<LONG>(sizeHeader.cx, m_nMaxItemWidth);
    size.cy = sizeHeader.cy;
}

int CExtReportGridGroupAreaWnd::GetItemRects(CArray<CRect, const CRect&>& arrRects,
                                             CArray<CExtReportGridColumn*, CExtReportGridColumn*>* pColumns)
{
    arrRects.RemoveAll();
    if (pColumns != NULL)
        pColumns->RemoveAll();
    const CExtReportGridSortOrder* pOrder = GetReportSortOrder();
    if (pOrder == NULL)
        return 0;
    const SIZE sizeStep = GetItemStep();
    CPoint pt(m_rcMargins.left, m_rcMargins.top);
    const int nCount = pOrder->GetGroupCount();
    for (int i = 0; i < nCount; i++)
    {
        CExtReportGridColumn* pColumn = pOrder->ItemGet(i);
        SIZE size;
        MeasureItem(size, pColumn);
        const CRect rc(pt, size);
        arrRects.Add(rc);
        if (pColumns != NULL)
            pColumns->Add(pColumn);
        pt.x = rc.right + sizeStep.cx;
        pt.y = rc.top + sizeStep.cy;
    }
    return (int)arrRects.GetSize();
}

void CExtReportGridGroupAreaWnd::CalcSize(SIZE& size)
{
    size.cx = m_rcMargins.left + m_rcMargins.right;
    size.cy = m_rcMargins.top + m_rcMargins.bottom;
    CArray<CRect, const CRect&> arrRects;
    const int nCount = GetItemRects(arrRects);
    if (nCount > 0)
    {
        const SIZE sizeStep = GetItemStep();
        int nHeight = arrRects[0].Height();
        for (int i = 0; i < nCount; i++)
        {
            size.cx += arrRects[i].Width();
            if (i > 0)
                nHeight += sizeStep.cy + arrRects[i].Height() - arrRects[i - 1].Height();
        }
        size.cx += (nCount - 1) * sizeStep.cx;
        size.cy += nHeight;
    }
    size.cy = std::max<LONG>(size.cy, m_nMinHeight);
}

// Every hit test needs the window, a grid that groups and a point in the band.
int CExtReportGridGroupAreaWnd::HitTestItem(CPoint point, RECT* pRectItem)
{
    if (m_hWnd == NULL || m_pWndReport == NULL || m_pWndReport->GetSafeHwnd() == NULL ||
        m_pWndReport->GetMaxGroupByColumns() <= 0)
        return -1;
    CRect rcClient;
    GetClientRect(&rcClient);
    if (!rcClient.PtInRect(point))
        return -1;
    CArray<CRect, const CRect&> arrRects;
    const int nCount = GetItemRects(arrRects);
    for (int i = 0; i < nCount; i++)
    {
        if (arrRects[i].PtInRect(point))
        {
            if (pRectItem != NULL)
                *pRectItem = arrRects[i];
            return i;
        }
    }
    return -1;
}

int CExtReportGridGroupAreaWnd::HitTestDropPosition(CPoint point)
{
    if (m_hWnd == NULL || m_pWndReport == NULL || m_pWndReport->GetSafeHwnd() == NULL ||
        m_pWndReport->GetMaxGroupByColumns() <= 0)
        return -1;
    CRect rcClient;
    GetClientRect(&rcClient);
    if (!rcClient.PtInRect(point))
        return -1;
    CArray<CRect, const CRect&> arrRects;
    const int nCount = GetItemRects(arrRects);
    for (int i = 0; i < nCount; i++)
    {
        if (arrRects[i].CenterPoint().x > point.x)
            return i;
    }
    return nCount;
}

bool CExtReportGridGroupAreaWnd::GetDropMarkerRect(int nIndex, RECT& rcMarker)
{
    if (nIndex < 0 || m_pWndReport == NULL)
        return false;
    CArray<CRect, const CRect&> arrRects;
    const int nCount = GetItemRects(arrRects);
    if (nIndex > nCount)
        return false;
    if (nCount == 0)
    {
        CRect rcClient(0, 0, 0, 0);
        if (m_hWnd != NULL)
            GetClientRect(&rcClient);
        const int nHeight = std::max<int>(rcClient.Height() - m_rcMargins.top - m_rcMargins.bottom, 10);
        ::SetRect(&rcMarker, m_rcMargins.left, m_rcMargins.top, m_rcMargins.left, m_rcMargins.top + nHeight);
        return true;
    }
    const CRect& rc = arrRects[std::min(nIndex, nCount - 1)];
    const int x = nIndex < nCount ? rc.left : rc.right;
    ::SetRect(&rcMarker, x, rc.top, x, rc.bottom);
    return true;
}

BOOL CExtReportGridGroupAreaWnd::PreCreateWindow(CREATESTRUCT& cs)
{
    if (!RegisterGroupAreaWndClass() || !CWnd::PreCreateWindow(cs))
        return FALSE;
    cs.lpszClass = g_sWndClassName;
    m_bCreatedDirectly = true;
    return TRUE;
}

void CExtReportGridGroupAreaWnd::PreSubclassWindow()
{
    CWnd::PreSubclassWindow();
    if (m_pWndReport == NULL)
        m_pWndReport = DYNAMIC_DOWNCAST(CExtReportGridWnd, CWnd::FromHandlePermanent(::GetParent(m_hWnd)));
    if (!m_bCreatedDirectly && !OnQueryAllowSubclassing())
        ::AfxThrowMemoryException();
}

void CExtReportGridGroupAreaWnd::PostNcDestroy()
{
    CWnd::PostNcDestroy();
    if (m_bAutoDelete)
        delete this;
}

// ---- painting ---------------------------------------------------------------------------

void CExtReportGridGroupAreaWnd::PaintColumnButton(CDC& dc, CExtReportGridColumn* pColumn, int nIndex, int nCount,
                                                   const RECT& rc, DWORD dwAreaFlags, DWORD dwPaintFlags)
{
    if (pColumn == NULL || m_pWndReport == NULL)
        return;
    const RECT rcRange = {0, 0, std::max(nCount - 1, 0), 0};
    pColumn->OnPaintBackground(*m_pWndReport, dc, nIndex, 0, nIndex, 0, 0, -1, rc, rc, rcRange, dwAreaFlags,
                               dwPaintFlags);
    pColumn->OnPaint(*m_pWndReport, dc, nIndex, 0, nIndex, 0, 0, -1, rc, rc, rcRange, dwAreaFlags, dwPaintFlags);
}

void CExtReportGridGroupAreaWnd::PaintButtons(CDC& dc, const CArray<CRect, const CRect&>& arrRects,
                                              const CArray<CExtReportGridColumn*, CExtReportGridColumn*>& arrColumns)
{
    CPen pen;
    int nInsetH = 0, nLengthV = 0;
    GetConnectorInfo(&pen, nInsetH, nLengthV);
    const SIZE sizeStep = GetItemStep();
    CPen* pOldPen = dc.SelectObject(&pen);
    const int nCount = (int)arrRects.GetSize();
    for (int i = 0; i + 1 < nCount; i++)
    {
        const CRect& rc = arrRects[i];
        dc.MoveTo(rc.right - nInsetH, rc.bottom);
        dc.LineTo(rc.right - nInsetH, rc.bottom + nLengthV);
        dc.LineTo(rc.right + sizeStep.cx, rc.bottom + nLengthV);
    }
    for (int i = 0; i < nCount; i++)
        PaintColumnButton(dc, arrColumns[i], i, nCount, arrRects[i], 0, 0);
    dc.SelectObject(pOldPen);
}

void CExtReportGridGroupAreaWnd::PaintHint(CDC& dc, const CRect& rcClient, const CString& strHint)
{
    if (strHint.IsEmpty())
        return;
    CRect rcBox(rcClient.left + m_rcMargins.left, rcClient.top + m_rcMargins.top, rcClient.right - m_rcMargins.right,
                rcClient.bottom - m_rcMargins.bottom);
    if (rcBox.right < rcBox.left || rcBox.bottom < rcBox.top)
        return;
    CRect rcText(0, 0, 0, 0);
    dc.DrawText(strHint, &rcText, DT_SINGLELINE | DT_CALCRECT);
    rcBox.right = std::min<LONG>(rcBox.right, rcBox.left + rcText.Width() + 8);
    dc.FillSolidRect(&rcBox, ::GetSysColor(COLOR_BTNFACE));
    dc.SetTextColor(::GetSysColor(COLOR_BTNSHADOW));
    rcBox.DeflateRect(4, 0);
    dc.DrawText(strHint, &rcBox, DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS);
}

void CExtReportGridGroupAreaWnd::OnPaintArea()
{
    CPaintDC dcPaint(this);
    if (m_pWndReport == NULL)
        return;
    m_pWndReport->m_nPaintFlags |= CExtReportGridWnd::__ERGPF_GROUP_AREA;
    CRect rcClient;
    GetClientRect(&rcClient);
    {
        CExtMemoryDC dc(&dcPaint, &rcClient);
        dc.FillSolidRect(&rcClient, ::GetSysColor(COLOR_BTNSHADOW));
        const COLORREF clrOldText = dc.SetTextColor(m_pWndReport->GetColor(COLOR_BTNTEXT));
        const int nOldMode = dc.SetBkMode(TRANSPARENT);
        CFont* pOldFont = dc.SelectObject(m_pWndReport->GetPaintFont());
        const CString strHint = m_pWndReport->GetGroupAreaEmptyText();
        CArray<CRect, const CRect&> arrRects;
        CArray<CExtReportGridColumn*, CExtReportGridColumn*> arrColumns;
        const int nCount = GetItemRects(arrRects, &arrColumns);
        bool bThemePainted = false;
        if ((m_pWndReport->GetScrollItemStyleEx() & 0x80000000) != 0)
            bThemePainted = g_CurrentPaintManager->DrawReportGroupArea(
                dc, rcClient, nCount == 0 ? (LPCTSTR)strHint : NULL, this);
        if (nCount > 0)
            PaintButtons(dc, arrRects, arrColumns);
        else if (!bThemePainted)
            PaintHint(dc, rcClient, strHint);
        dc.SelectObject(pOldFont);
        dc.SetTextColor(clrOldText);
        dc.SetBkMode(nOldMode);
    }
    m_pWndReport->m_nPaintFlags &= ~CExtReportGridWnd::__ERGPF_GROUP_AREA;
}

// ---- layout --------------------------------------------------------------------------------

void CExtReportGridGroupAreaWnd::OnSizeParent(AFX_SIZEPARENTPARAMS* pLayout)
{
    if (pLayout == NULL || (GetStyle() & WS_VISIBLE) == 0)
        return;
    SIZE size;
    CalcSize(size);
    CRect rc(pLayout->rect);
    rc.bottom = rc.top + size.cy;
    pLayout->rect.top += size.cy;
    pLayout->sizeTotal.cy += size.cy;
    if (pLayout->hDWP != NULL)
        ::AfxRepositionWindow(pLayout, m_hWnd, &rc);
}

// ---- mouse ---------------------------------------------------------------------------------

bool CExtReportGridGroupAreaWnd::OnRButtonDownArea(CPoint point)
{
    const int nIndex = HitTestItem(point);
    if (nIndex < 0)
        return false;
    const CExtReportGridSortOrder* pOrder = GetReportSortOrder();
    CExtReportGridColumn* pColumn = pOrder != NULL ? pOrder->ItemGet(nIndex) : NULL;
    if (pColumn == NULL)
        return false;
    CPoint ptScreen = point;
    ClientToScreen(&ptScreen);
    m_pWndReport->ShowHeaderContextMenu(this, pColumn, ptScreen);
    return true;
}

bool CExtReportGridGroupAreaWnd::OnLButtonDownArea(CPoint point)
{
    if (g_pColumnDragging != NULL)
        return true;
    CRect rcItem;
    const int nIndex = HitTestItem(point, &rcItem);
    if (nIndex < 0)
        return false;
    CExtReportGridColumn* pColumn = GetReportSortOrder()->ItemGet(nIndex);
    if (pColumn == NULL || !pColumn->DragEnabledGet())
        return true;
    const HWND hWnd = m_hWnd;
    CExtContentExpandWnd wndImage, wndMarker;
    CPoint ptScreen = point;
    ClientToScreen(&ptScreen);
    DRAG_STATE st = {pColumn, nIndex, rcItem, ptScreen, false, DROP_NONE, -1, CPoint(0, 0), &wndImage, &wndMarker};
    m_pColumnDragged = pColumn;
    g_pColumnDragging = pColumn;
    CExtMouseCaptureSink::SetCapture(hWnd);
    const HCURSOR hCursorOld = ::SetCursor(m_pWndReport->m_hCursorOuterDragOK);
    const bool bAlive = DragLoop(st);
    g_pColumnDragging = NULL;
    wndMarker.Deactivate();
    wndImage.Deactivate();
    if (!bAlive || !::IsWindow(hWnd))
        return true;
    if (::GetCapture() == hWnd)
        ::ReleaseCapture();
    ::SetCursor(hCursorOld);
    DragApply(st);
    m_pColumnDragged = NULL;
    if (::IsWindow(hWnd))
    {
        Invalidate();
        UpdateWindow();
    }
    return true;
}

// The wait for the threshold, then the drag; false when the window went away.
bool CExtReportGridGroupAreaWnd::DragLoop(DRAG_STATE& st)
{
    const HWND hWnd = m_hWnd;
    CSize sizeThreshold(3, 3);
    m_pWndReport->GetDragThreshold(sizeThreshold);
    bool bIdle = true;
    for (;;)
    {
        if (!::IsWindow(hWnd))
            return false;
        if (::GetCapture() != hWnd)
        {
            st.eDrop = DROP_NONE;
            return true;
        }
        MSG msg;
        if (!ReportDragLoop::PeekNext(msg, bIdle))
            continue;
        switch (ReportDragLoop::Classify(msg, hWnd))
        {
        case ReportDragLoop::STEP_MOVE:
        {
            ReportDragLoop::Remove(msg);
            CPoint ptScreen(GET_X_LPARAM(msg.lParam), GET_Y_LPARAM(msg.lParam));
            ClientToScreen(&ptScreen);
            if (!st.bDragging)
            {
                if (std::abs(ptScreen.x - st.ptPress.x) < sizeThreshold.cx &&
                    std::abs(ptScreen.y - st.ptPress.y) < sizeThreshold.cy)
                    break;
                CRect rcImage = st.rcItem;
                ClientToScreen(&rcImage);
                ScreenToClient(&rcImage);
                if (!st.pWndImage->Activate(rcImage, this, 0x3EFE05F))
                {
                    st.eDrop = DROP_NONE;
                    return true;
                }
                st.bDragging = true;
            }
            DragFollow(st, ptScreen);
            break;
        }
        case ReportDragLoop::STEP_DROP:
        {
            const CPoint ptScreen = ReportDragLoop::TakeDropPoint(msg, hWnd);
            if (!st.bDragging)
            {
                CPoint ptClient = ptScreen;
                ScreenToClient(&ptClient);
                st.eDrop = st.rcItem.PtInRect(ptClient) ? DROP_CLICK : DROP_NONE;
            }
            else
                DragFollow(st, ptScreen);
            return true;
        }
        case ReportDragLoop::STEP_REFRESH:
        {
            ReportDragLoop::Remove(msg);
            if (st.bDragging)
            {
                CPoint ptScreen;
                ::GetCursorPos(&ptScreen);
                DragFollow(st, ptScreen);
            }
            break;
        }
        case ReportDragLoop::STEP_CANCEL:
            st.eDrop = DROP_NONE;
            return true;
        case ReportDragLoop::STEP_PUMP:
            if (!ReportDragLoop::PumpOne())
            {
                st.eDrop = DROP_NONE;
                return true;
            }
            break;
        }
    }
}

// Where the dragged button would land under the pointer, with its marker and cursor.
void CExtReportGridGroupAreaWnd::DragFollow(DRAG_STATE& st, CPoint ptScreen)
{
    CRect rcImageWnd = st.rcItem;
    ClientToScreen(&rcImageWnd);
    rcImageWnd.OffsetRect(ptScreen - st.ptPress);
    if (st.pWndImage->GetSafeHwnd() != NULL)
        ::SetWindowPos(st.pWndImage->GetSafeHwnd(), NULL, rcImageWnd.left, rcImageWnd.top, 0, 0,
                       SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    st.eDrop = DROP_ELSEWHERE;
    st.nDropIndex = -1;
    CRect rcMarker(0, 0, 0, 0);
    CWnd* pWndMarkerOwner = NULL;
    CPoint ptArea = ptScreen;
    ScreenToClient(&ptArea);
    CRect rcClient;
    GetClientRect(&rcClient);
    if (rcClient.PtInRect(ptArea))
    {
        st.eDrop = DROP_AREA;
        const int nIndex = HitTestDropPosition(ptArea);
        // A drop just before or just after the dragged button changes nothing.
        if (nIndex >= 0 && nIndex != st.nIndex && nIndex != st.nIndex + 1 && GetDropMarkerRect(nIndex, rcMarker))
        {
            st.nDropIndex = nIndex;
            pWndMarkerOwner = this;
        }
    }
    else
    {
        CPoint ptGrid = ptScreen;
        m_pWndReport->ScreenToClient(&ptGrid);
        const int nPos = m_pWndReport->HeaderDropPositionGet(ptGrid, &rcMarker);
        if (nPos >= 0)
        {
            st.eDrop = DROP_HEADER;
            st.nDropIndex = nPos;
            st.ptDropClient = ptGrid;
            pWndMarkerOwner = m_pWndReport;
        }
    }
    ReportDragLoop::ShowDropFeedback(*st.pWndMarker, *st.pWndImage, rcMarker, pWndMarkerOwner,
                                     st.eDrop == DROP_ELSEWHERE ? m_pWndReport->m_hCursorOuterDragRemove
                                                                : m_pWndReport->m_hCursorOuterDragOK);
}

void CExtReportGridGroupAreaWnd::DragApply(DRAG_STATE& st)
{
    const CExtReportGridSortOrder* pCurrent = GetReportSortOrder();
    if (pCurrent == NULL || st.pColumn == NULL)
        return;
    CExtReportGridSortOrder order(*pCurrent);
    const int nFrom = order.IndexOf(st.pColumn);
    const int nGroups = order.GetGroupCount();
    if (nFrom < 0 || nFrom >= nGroups)
        return;
    bool bAscending = true;
    order.ItemGet(nFrom, &bAscending);
    // Takes the column out of the group-by part.
    auto ungroup = [&]() {
        order.SetGroupCount(nGroups - 1);
        order.ItemRemove(nFrom, 1);
    };
    switch (st.eDrop)
    {
    case DROP_CLICK:
        order.ItemSet(st.pColumn, nFrom, !st.pColumn->SortAscendingGet());
        m_pWndReport->SortOrderSet(order, true, true);
        break;
    case DROP_AREA:
    {
        if (st.nDropIndex < 0)
            return;
        const int nTo = st.nDropIndex > nFrom ? st.nDropIndex - 1 : st.nDropIndex;
        ungroup();
        order.ItemInsert(st.pColumn, nTo, bAscending);
        order.SetGroupCount(nGroups);
        if (order != *pCurrent)
            m_pWndReport->SortOrderSet(order, true, true);
        break;
    }
    case DROP_HEADER:
        if (!m_pWndReport->ColumnActivate(st.pColumn, true, st.nDropIndex, true))
            return;
        ungroup();
        m_pWndReport->SortOrderSet(order, true, true);
        break;
    case DROP_ELSEWHERE:
        if (!m_pWndReport->ColumnActivate(st.pColumn, true, -1, true))
            return;
        ungroup();
        m_pWndReport->SortOrderSet(order, true, true);
        break;
    default:
        return;
    }
    m_pWndReport->RefreshColumnChooser();
}

LRESULT CExtReportGridGroupAreaWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message)
    {
    case WM_ERASEBKGND:
        return TRUE;
    case WM_PAINT:
        OnPaintArea();
        return 0;
    case WM_LBUTTONDOWN:
        if (OnLButtonDownArea(CPoint(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam))))
            return 0;
        break;
    case WM_RBUTTONDOWN:
        if (OnRButtonDownArea(CPoint(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam))))
            return 0;
        break;
    case WM_SIZEPARENT:
        OnSizeParent(reinterpret_cast<AFX_SIZEPARENTPARAMS*>(lParam));
        return 0;
    default:
        if (message == CExtContentExpandWnd::g_nMsgPaintItemContent)
        {
            CExtContentExpandWnd::ITEM_PAINT_INFO* pInfo =
                reinterpret_cast<CExtContentExpandWnd::ITEM_PAINT_INFO*>(wParam);
            if (m_pColumnDragged == NULL || pInfo == NULL || m_pWndReport == NULL)
                return 0;
            CDC& dc = pInfo->m_dc;
            const COLORREF clrOld = dc.SetTextColor(m_pWndReport->GetColor(COLOR_BTNTEXT));
            const int nOldMode = dc.SetBkMode(TRANSPARENT);
            CFont* pOldFont = dc.SelectObject(m_pWndReport->GetPaintFont());
            PaintColumnButton(dc, m_pColumnDragged, 0, 1, pInfo->m_rcItem, 0x101, 0x200);
            dc.SelectObject(pOldFont);
            dc.SetBkMode(nOldMode);
            dc.SetTextColor(clrOld);
            return 1;
        }
        break;
    }
    return CWnd::WindowProc(message, wParam, lParam);
}
