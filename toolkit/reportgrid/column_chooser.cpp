// The column chooser: the one-column grid of hidden fields with its own vertical bar, the
// drag of a field into the report grid's header or group area, its docking inside the
// grid, the floating tool frame and the category combo box.
#include "toolkit/reportgrid/column_chooser.h"
#include <algorithm>
#include <windowsx.h>
#include "toolkit/grid/content_expand_wnd.h"
#include "toolkit/reportgrid/group_area_wnd.h"
#include "toolkit/reportgrid/report_drag_loop.h"
#include "toolkit/reportgrid/report_grid_wnd.h"
#include "toolkit/theme/paint_manager.h"

IMPLEMENT_DYNCREATE(CExtReportGridColumnChooserWnd, CExtGridWnd)
IMPLEMENT_DYNCREATE(CExtReportGridColumnChooserMiniFrameWnd, CMiniFrameWnd)
IMPLEMENT_DYNCREATE(CExtReportGridCategoryComboBox, CExtComboBoxBase)

CExtReportGridColumn* CExtReportGridColumnChooserWnd::g_pColumnDragging = NULL;

namespace {

CExtReportGridWnd* ReportGridOfParent(HWND hWnd)
{
    for (HWND h = ::GetParent(hWnd); h != NULL; h = ::GetParent(h))
    {
        CWnd* pWnd = CWnd::FromHandlePermanent(h);
        if (CExtReportGridWnd* pReport = DYNAMIC_DOWNCAST(CExtReportGridWnd, pWnd))
            return pReport;
        if (CExtReportGridColumnChooserWnd* pChooser = DYNAMIC_DOWNCAST(CExtReportGridColumnChooserWnd, pWnd))
            return pChooser->GetReportGrid();
    }
    return NULL;
}

}  // namespace

CExtReportGridColumnChooserWnd::CExtReportGridColumnChooserWnd(CExtReportGridWnd* pWndReport)
    : m_pWndReport(pWndReport),
      m_nDockedLeft(150),
      m_nDockedTop(150),
      m_nDockedRight(150),
      m_nDockedBottom(150),
      m_nDockPosition(AFX_IDW_DOCKBAR_FLOAT),
      m_htiFieldPress(-1, -1),
      m_pFieldDragged(NULL)
{
}

CExtReportGridColumnChooserWnd::~CExtReportGridColumnChooserWnd() = default;

CScrollBar* CExtReportGridColumnChooserWnd::GetScrollBarCtrl(int nBar) const
{
    if (nBar == SB_VERT && m_hWnd != NULL && m_wndScrollBarV.GetSafeHwnd() != NULL)
        return const_cast<CExtScrollBar*>(&m_wndScrollBarV);
    return NULL;
}

void CExtReportGridColumnChooserWnd::PostNcDestroy()
{
    CExtGridWnd::PostNcDestroy();
    delete this;
}

bool CExtReportGridColumnChooserWnd::OnInitializeWindow()
{
    if (!CExtGridWnd::OnInitializeWindow())
        return false;
    if (m_pWndReport == NULL)
        m_pWndReport = ReportGridOfParent(m_hWnd);
    ModifyScrollItemStyle(0x404, 0, false);
    ModifyScrollItemStyleEx(0x2000000, 0, false);
    ModifyBehaviorStyle(0, __EGBS_DEFAULT, false);
    m_wndScrollBarV.m_nBarKind = 3;
    m_wndScrollBarV.m_bThemedLook = false;
    if (!m_wndScrollBarV.Create(WS_CHILD | WS_VISIBLE | SBS_VERT | SBS_RIGHTALIGN, CRect(0, 0, 0, 0), this, 1))
        return false;
    InsertColumns(GetColumnCount(), 1, true);
    return true;
}

int CExtReportGridColumnChooserWnd::QueryColumnExtent(int, int* pBefore, int* pAfter)
{
    if (pBefore != NULL)
        *pBefore = 0;
    if (pAfter != NULL)
        *pAfter = 0;
    CRect rc(0, 0, 0, 0);
    if (m_hWnd != NULL)
        GetClientRect(&rc);
    return rc.Width();
}

void CExtReportGridColumnChooserWnd::OnPaintItems(CDC& dc, bool bFocused)
{
    CExtGridWnd::OnPaintItems(dc, bFocused);
    if (GetRowCount() > 0 || m_pWndReport == NULL)
        return;
    CRect rc;
    GetClientRect(&rc);
    rc.DeflateRect(5, 5);
    const CString strText = m_pWndReport->GetNoFieldsText();
    if (rc.IsRectEmpty() || strText.IsEmpty())
        return;
    const int nOldMode = dc.SetBkMode(TRANSPARENT);
    const COLORREF clrOld = dc.SetTextColor(GetColor(COLOR_BTNSHADOW));
    CFont* pOldFont = dc.SelectObject(GetPaintFont());
    dc.DrawText(strText, &rc, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS);
    dc.SelectObject(pOldFont);
    dc.SetTextColor(clrOld);
    dc.SetBkMode(nOldMode);
}

void CExtReportGridColumnChooserWnd::OnPaintOuterAreaBackground(CDC& dc, const RECT& rc, DWORD dwAreaFlags)
{
    if (dwAreaFlags == HIT_TEST_INFO::AREA_INNER)
    {
        dc.FillSolidRect(&rc, GetColor(COLOR_BTNFACE));
        return;
    }
    CExtGridWnd::OnPaintOuterAreaBackground(dc, rc, dwAreaFlags);
}

bool CExtReportGridColumnChooserWnd::IsCellDragEnabled() { return true; }

bool CExtReportGridColumnChooserWnd::OnCellPressedForDrag(HIT_TEST_INFO& hti)
{
    if (!hti.IsInner() || hti.m_nColNo != 0 || hti.IsOuter())
        return false;
    m_htiFieldPress = hti;
    m_htiDragPress = hti;
    return true;
}

bool CExtReportGridColumnChooserWnd::GetCellRects(int nColumn, int nRow, int nColType, int nRowType,
                                                  RECT* pRectExtent, RECT* pRectCell, int* pnVisibleColumn,
                                                  int* pnVisibleRow)
{
    const bool bResult = CExtGridWnd::GetCellRects(nColumn, nRow, nColType, nRowType, pRectExtent, pRectCell,
                                                   pnVisibleColumn, pnVisibleRow);
    CRect rcClient(0, 0, 0, 0);
    if (m_hWnd != NULL)
        GetClientRect(&rcClient);
    for (RECT* p : {pRectExtent, pRectCell})
        if (p != NULL)
        {
            p->left = rcClient.left;
            p->right = rcClient.right;
        }
    return bResult;
}

void CExtReportGridColumnChooserWnd::DockedExtentsGet(int& nLeft, int& nTop, int& nRight, int& nBottom) const
{
    nLeft = m_nDockedLeft;
    nTop = m_nDockedTop;
    nRight = m_nDockedRight;
    nBottom = m_nDockedBottom;
}

bool CExtReportGridColumnChooserWnd::DockedExtentsSet(int nLeft, int nTop, int nRight, int nBottom)
{
    m_nDockedLeft = std::max(nLeft, 1);
    m_nDockedTop = std::max(nTop, 1);
    m_nDockedRight = std::max(nRight, 1);
    m_nDockedBottom = std::max(nBottom, 1);
    return true;
}

UINT CExtReportGridColumnChooserWnd::DockPositionGet() const { return m_nDockPosition; }

void CExtReportGridColumnChooserWnd::DockPositionSet(UINT nDockPosition)
{
    if (m_nDockPosition == nDockPosition)
        return;
    m_nDockPosition = nDockPosition;
    if (m_pWndReport != NULL)
        m_pWndReport->PlaceColumnChooser();
}

// ---- the fields ---------------------------------------------------------------------------

bool CExtReportGridColumnChooserWnd::FieldsSet(const CArray<CExtReportGridColumn*, CExtReportGridColumn*>& arrColumns)
{
    const int nOld = GetRowCount();
    if (nOld > 0)
        RemoveRows(0, nOld, false);
    const int nCount = (int)arrColumns.GetSize();
    // The window's own set-up can run before its provider keeps columns: the single
    // column is made on the first fill then.
    if (GetColumnCount() == 0)
        InsertColumns(0, 1, false);
    if (GetColumnCount() == 0 || (nCount > 0 && !InsertRows(0, nCount, false)))
    {
        Redraw();
        return false;
    }
    for (int i = 0; i < nCount; i++)
    {
        CExtGridCell* pCell = GridCellGet(0, i, 0, 0, RUNTIME_CLASS(CExtReportGridColumn));
        if (pCell != NULL && arrColumns[i] != NULL)
            pCell->Assign(*arrColumns[i]);
    }
    if (m_hWnd != NULL)
    {
        UpdateScrollBars();
        Redraw();
    }
    return true;
}

CExtReportGridColumn* CExtReportGridColumnChooserWnd::FieldColumnGet(LONG nRowNo)
{
    if (m_pWndReport == NULL || nRowNo < 0 || nRowNo >= GetRowCount())
        return NULL;
    CExtReportGridColumn* pField = DYNAMIC_DOWNCAST(CExtReportGridColumn, GridCellGet(0, nRowNo));
    if (pField == NULL)
        return NULL;
    return m_pWndReport->ColumnFind(pField->ColumnNameGet(), pField->CategoryNameGet());
}

bool CExtReportGridColumnChooserWnd::OnPaintItemContent(CExtContentExpandWnd::ITEM_PAINT_INFO& _pi)
{
    if (m_pFieldDragged == NULL)
        return CExtGridWnd::OnPaintItemContent(_pi);
    const RECT rcRange = {0, 0, 0, 0};
    const int nOldMode = _pi.m_dc.SetBkMode(TRANSPARENT);
    const COLORREF clrOld = _pi.m_dc.SetTextColor(GetColor(COLOR_BTNTEXT));
    CFont* pOldFont = _pi.m_dc.SelectObject(GetPaintFont());
    m_pFieldDragged->OnPaintBackground(*this, _pi.m_dc, 0, 0, 0, 0, 0, 0, _pi.m_rcItem, _pi.m_rcItem, rcRange,
                                       HIT_TEST_INFO::AREA_INNER, PAINT_DRAG_IMAGE);
    m_pFieldDragged->OnPaint(*this, _pi.m_dc, 0, 0, 0, 0, 0, 0, _pi.m_rcItem, _pi.m_rcItem, rcRange,
                             HIT_TEST_INFO::AREA_INNER, PAINT_DRAG_IMAGE);
    _pi.m_dc.SelectObject(pOldFont);
    _pi.m_dc.SetTextColor(clrOld);
    _pi.m_dc.SetBkMode(nOldMode);
    return true;
}

// ---- dragging a field ------------------------------------------------------------------------

void CExtReportGridColumnChooserWnd::OnOuterCellDragStart(const HIT_TEST_INFO& hti)
{
    m_nTrackingMode = __EGBWA_TRACKING_NONE;
    if (!hti.IsInner() || hti.m_nColNo != 0 || m_pWndReport == NULL || m_pWndReport->GetSafeHwnd() == NULL ||
        g_pColumnDragging != NULL || m_pWndReport->m_hCursorOuterDragOK == NULL)
        return;
    CExtReportGridColumn* pField = DYNAMIC_DOWNCAST(CExtReportGridColumn, GridCellGet(0, hti.m_nRowNo));
    CExtReportGridColumn* pColumn = FieldColumnGet(hti.m_nRowNo);
    if (pField == NULL || pColumn == NULL || !pColumn->DragEnabledGet())
        return;
    const HWND hWnd = m_hWnd;
    CExtContentExpandWnd wndImage, wndMarker;
    FIELD_DRAG_STATE st;
    st.pColumn = pColumn;
    st.pField = pField;
    CExtReportGridGroupAreaWnd* pArea = DYNAMIC_DOWNCAST(CExtReportGridGroupAreaWnd, m_pWndReport->GetGroupArea());
    st.bGroupArea = m_pWndReport->GetMaxGroupByColumns() > 0 && pArea != NULL && pArea->GetSafeHwnd() != NULL;
    st.eDrop = DROP_NONE;
    st.nIndex = -1;
    st.pWndImage = &wndImage;
    st.pWndMarker = &wndMarker;
    st.ptPress = hti.m_ptClient;
    ClientToScreen(&st.ptPress);
    st.ptDropClient = CPoint(0, 0);
    CRect rcItem = hti.m_rcExtra;
    const CSize sizeField = pField->MeasureCell(this);
    rcItem.bottom = rcItem.top + std::max<LONG>(rcItem.Height(), sizeField.cy);
    m_pFieldDragged = pField;
    if (!wndImage.Activate(rcItem, this, 0x3EFE05F))
    {
        m_pFieldDragged = NULL;
        return;
    }
    wndImage.GetWindowRect(&st.rcImageWnd);
    g_pColumnDragging = pColumn;
    CExtMouseCaptureSink::SetCapture(hWnd);
    ::SetCursor(m_pWndReport->m_hCursorOuterDragOK);
    FieldDragLoop(st);
    g_pColumnDragging = NULL;
    wndMarker.Deactivate();
    wndImage.Deactivate();
    if (!::IsWindow(hWnd))
        return;
    m_pFieldDragged = NULL;
    if (::GetCapture() == hWnd)
        ::ReleaseCapture();
    FieldDragApply(st);
    if (!::IsWindow(hWnd))
        return;
    m_htiFieldPress = HIT_TEST_INFO(-1, -1);
    OnHoverUpdate(NULL);
    Redraw();
}

void CExtReportGridColumnChooserWnd::FieldDragLoop(FIELD_DRAG_STATE& st)
{
    const HWND hWnd = m_hWnd;
    bool bIdle = true;
    for (;;)
    {
        if (!::IsWindow(hWnd) || ::GetCapture() != hWnd)
        {
            st.eDrop = DROP_NONE;
            return;
        }
        MSG msg;
        if (!ReportDragLoop::PeekNext(msg, bIdle))
            continue;
        switch (ReportDragLoop::Classify(msg, hWnd))
        {
        case ReportDragLoop::STEP_MOVE:
        {
            ReportDragLoop::Remove(msg);
            CPoint pt(GET_X_LPARAM(msg.lParam), GET_Y_LPARAM(msg.lParam));
            ClientToScreen(&pt);
            FieldDragFollow(st, pt);
            break;
        }
        case ReportDragLoop::STEP_DROP:
        {
            FieldDragFollow(st, ReportDragLoop::TakeDropPoint(msg, hWnd));
            return;
        }
        case ReportDragLoop::STEP_REFRESH:
        {
            ReportDragLoop::Remove(msg);
            CPoint pt;
            ::GetCursorPos(&pt);
            FieldDragFollow(st, pt);
            break;
        }
        case ReportDragLoop::STEP_CANCEL:
            st.eDrop = DROP_NONE;
            return;
        case ReportDragLoop::STEP_PUMP:
            if (!ReportDragLoop::PumpOne())
            {
                st.eDrop = DROP_NONE;
                return;
            }
            break;
        }
    }
}

void CExtReportGridColumnChooserWnd::FieldDragFollow(FIELD_DRAG_STATE& st, CPoint ptScreen)
{
    const CPoint ptOffset = ptScreen - st.ptPress;
    if (st.pWndImage->GetSafeHwnd() != NULL)
        ::SetWindowPos(st.pWndImage->GetSafeHwnd(), NULL, st.rcImageWnd.left + ptOffset.x,
                       st.rcImageWnd.top + ptOffset.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    st.eDrop = DROP_NONE;
    st.nIndex = -1;
    CRect rcMarker(0, 0, 0, 0);
    CWnd* pOwner = NULL;
    CExtReportGridGroupAreaWnd* pArea =
        st.bGroupArea ? DYNAMIC_DOWNCAST(CExtReportGridGroupAreaWnd, m_pWndReport->GetGroupArea()) : NULL;
    CPoint ptArea = ptScreen;
    if (pArea != NULL && pArea->GetSafeHwnd() != NULL && pArea->IsWindowVisible())
    {
        pArea->ScreenToClient(&ptArea);
        const int nIndex = pArea->HitTestDropPosition(ptArea);
        if (nIndex >= 0 && pArea->GetDropMarkerRect(nIndex, rcMarker))
        {
            st.eDrop = DROP_AREA;
            st.nIndex = nIndex;
            pOwner = pArea;
        }
    }
    if (st.eDrop == DROP_NONE)
    {
        CPoint ptGrid = ptScreen;
        m_pWndReport->ScreenToClient(&ptGrid);
        const int nPos = m_pWndReport->HeaderDropPositionGet(ptGrid, &rcMarker);
        if (nPos >= 0)
        {
            st.eDrop = DROP_HEADER;
            st.nIndex = nPos;
            st.ptDropClient = ptGrid;
            pOwner = m_pWndReport;
        }
    }
    ReportDragLoop::ShowDropFeedback(*st.pWndMarker, *st.pWndImage, rcMarker, pOwner,
                                     pOwner != NULL ? m_pWndReport->m_hCursorOuterDragOK
                                                    : m_pWndReport->m_hCursorOuterDragRemove);
}

void CExtReportGridColumnChooserWnd::FieldDragApply(FIELD_DRAG_STATE& st)
{
    if (st.pColumn == NULL || m_pWndReport == NULL || m_pWndReport->ColumnFind(st.pColumn->ColumnNameGet(),
                                                                              st.pColumn->CategoryNameGet()) != st.pColumn)
        return;
    if (st.eDrop == DROP_AREA && st.nIndex >= 0)
    {
        CExtReportGridSortOrder order(m_pWndReport->SortOrderGet());
        int nGroups = order.GetGroupCount(), nPos = st.nIndex;
        const int nIndex = order.IndexOf(st.pColumn);
        if (nIndex >= 0)
        {
            // A sort key joins the groups too: an order holds a column once.
            if (nIndex < nGroups)
            {
                order.SetGroupCount(--nGroups);
                if (nIndex < nPos)
                    nPos--;
            }
            order.ItemRemove(nIndex, 1);
        }
        nPos = std::max(0, std::min(nPos, nGroups));
        if (order.ItemInsert(st.pColumn, nPos, st.pColumn->SortAscendingGet()) && order.SetGroupCount(nGroups + 1))
            m_pWndReport->SortOrderSet(order, true, true);
    }
    else if (st.eDrop == DROP_HEADER && st.nIndex >= 0)
        m_pWndReport->ColumnActivate(st.pColumn, true, st.nIndex, true);
    else
        return;
    m_pWndReport->RefreshColumnChooser();
}

// ---- docking inside the grid ----------------------------------------------------------------

void CExtReportGridColumnChooserWnd::OnSizeParent(AFX_SIZEPARENTPARAMS* pLayout)
{
    if (pLayout == NULL || m_nDockPosition == AFX_IDW_DOCKBAR_FLOAT || (GetStyle() & WS_VISIBLE) == 0)
        return;
    CRect rc(pLayout->rect);
    switch (m_nDockPosition)
    {
    case AFX_IDW_DOCKBAR_TOP:
        rc.bottom = rc.top + m_nDockedTop;
        pLayout->rect.top += m_nDockedTop;
        pLayout->sizeTotal.cy += m_nDockedTop;
        break;
    case AFX_IDW_DOCKBAR_LEFT:
        rc.right = rc.left + m_nDockedLeft;
        pLayout->rect.left += m_nDockedLeft;
        pLayout->sizeTotal.cx += m_nDockedLeft;
        break;
    case AFX_IDW_DOCKBAR_RIGHT:
        rc.left = rc.right - m_nDockedRight;
        pLayout->rect.right -= m_nDockedRight;
        pLayout->sizeTotal.cx += m_nDockedRight;
        break;
    case AFX_IDW_DOCKBAR_BOTTOM:
        rc.top = rc.bottom - m_nDockedBottom;
        pLayout->rect.bottom -= m_nDockedBottom;
        pLayout->sizeTotal.cy += m_nDockedBottom;
        break;
    default:
        return;
    }
    if (pLayout->hDWP != NULL)
        ::AfxRepositionWindow(pLayout, m_hWnd, &rc);
}

LRESULT CExtReportGridColumnChooserWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_SIZEPARENT)
    {
        OnSizeParent(reinterpret_cast<AFX_SIZEPARENTPARAMS*>(lParam));
        return 0;
    }
    const LRESULT lResult = CExtGridWnd::WindowProc(message, wParam, lParam);
    // A floating chooser shown while still in the grid moves into its frame now.
    if (message == WM_WINDOWPOSCHANGED && m_nDockPosition == AFX_IDW_DOCKBAR_FLOAT && m_pWndReport != NULL &&
        ::GetParent(m_hWnd) == m_pWndReport->GetSafeHwnd() && (GetStyle() & WS_VISIBLE) != 0)
        m_pWndReport->PlaceColumnChooser();
    return lResult;
}

// ---- the floating frame ------------------------------------------------------------------------

const char* const CExtReportGridColumnChooserMiniFrameWnd::g_sWndClassName = "Kestrix-ColumnChooser-MiniFrame";

CExtReportGridColumnChooserMiniFrameWnd::CExtReportGridColumnChooserMiniFrameWnd(CExtReportGridWnd* pWndReport)
    : m_pWndReport(pWndReport)
{
}

CExtReportGridColumnChooserMiniFrameWnd::~CExtReportGridColumnChooserMiniFrameWnd() = default;

bool CExtReportGridColumnChooserMiniFrameWnd::Create()
{
    if (m_pWndReport == NULL || m_pWndReport->GetSafeHwnd() == NULL)
        return false;
    CWnd* pChooser = m_pWndReport->GetColumnChooser();
    if (pChooser == NULL || pChooser->GetSafeHwnd() == NULL)
        return false;
    HINSTANCE hInst = ::AfxGetInstanceHandle();
    WNDCLASSA wc;
    if (!::GetClassInfoA(hInst, g_sWndClassName, &wc))
    {
        ::memset(&wc, 0, sizeof(wc));
        wc.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS | CS_SAVEBITS | CS_GLOBALCLASS;
        wc.lpfnWndProc = ::DefWindowProcA;
        wc.hInstance = hInst;
        wc.hCursor = ::LoadCursor(NULL, IDC_ARROW);
        wc.lpszClassName = g_sWndClassName;
        if (!::RegisterClassA(&wc))
            return false;
    }
    DWORD dwStyle = WS_POPUP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME;
    if (m_pWndReport->IsColumnChooserVisible())
        dwStyle |= WS_VISIBLE;
    const CRect rc(200, 200, 400, 500);
    if (!CreateEx(0, g_sWndClassName, m_pWndReport->GetChooserCaption(), dwStyle, rc, m_pWndReport, 0))
        return false;
    CMenu* pSysMenu = GetSystemMenu(FALSE);
    if (pSysMenu != NULL)
    {
        for (int i = (int)pSysMenu->GetMenuItemCount() - 1; i >= 0; i--)
        {
            const UINT nID = pSysMenu->GetMenuItemID(i);
            if (nID != SC_SIZE && nID != SC_MOVE && nID != SC_CLOSE)
                pSysMenu->DeleteMenu(i, MF_BYPOSITION);
        }
    }
    RecalcLayout(TRUE);
    m_pWndReport->PlaceColumnChooser();
    return true;
}

void CExtReportGridColumnChooserMiniFrameWnd::RecalcLayout(BOOL bNotify)
{
    CWnd* pChooser = m_pWndReport != NULL ? m_pWndReport->GetColumnChooser() : NULL;
    const HWND hChooser = pChooser != NULL ? pChooser->GetSafeHwnd() : NULL;
    if (hChooser == NULL || ::GetParent(hChooser) != m_hWnd)
    {
        CMiniFrameWnd::RecalcLayout(bNotify);
        return;
    }
    const int nOldID = ::GetDlgCtrlID(hChooser);
    ::SetWindowLongPtr(hChooser, GWLP_ID, AFX_IDW_PANE_FIRST);
    CMiniFrameWnd::RecalcLayout(bNotify);
    ::SetWindowLongPtr(hChooser, GWLP_ID, nOldID);
}

void CExtReportGridColumnChooserMiniFrameWnd::PostNcDestroy() { CMiniFrameWnd::PostNcDestroy(); }

LRESULT CExtReportGridColumnChooserMiniFrameWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_CLOSE)
    {
        // Closing hides: the chooser keeps its place and fields for the next time.
        if (m_pWndReport != NULL)
            m_pWndReport->ShowColumnChooser(false);
        return 0;
    }
    if (message == WM_NCHITTEST)
        return Default();
    return CMiniFrameWnd::WindowProc(message, wParam, lParam);
}

// ---- the category combo box ----------------------------------------------------------------

CExtReportGridCategoryComboBox::CExtReportGridCategoryComboBox(CExtReportGridWnd* pWndReport)
    : m_pWndReport(pWndReport), m_bAutoDelete(pWndReport == NULL)
{
}

void CExtReportGridCategoryComboBox::PostNcDestroy()
{
    CExtComboBoxBase::PostNcDestroy();
    if (m_bAutoDelete)
        delete this;
}

CExtReportGridCategoryComboBox::~CExtReportGridCategoryComboBox() = default;

bool CExtReportGridCategoryComboBox::Create(CWnd* pWndParent, bool bVisible)
{
    if (pWndParent == NULL || pWndParent->GetSafeHwnd() == NULL)
        return false;
    if (m_pWndReport == NULL)
    {
        if (CExtReportGridColumnChooserWnd* pChooser = DYNAMIC_DOWNCAST(CExtReportGridColumnChooserWnd, pWndParent))
            m_pWndReport = pChooser->GetReportGrid();
    }
    DWORD dwStyle = WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_TABSTOP | CBS_DROPDOWNLIST | CBS_SORT |
                    CBS_HASSTRINGS;
    if (bVisible)
        dwStyle |= WS_VISIBLE;
    if (!CComboBox::Create(dwStyle, CRect(0, 0, 100, 400), pWndParent, __ID_CATEGORY_COMBO))
        return false;
    SetFont(CFont::FromHandle((HFONT)::GetStockObject(DEFAULT_GUI_FONT)));
    SetWindowPos(NULL, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_FRAMECHANGED);
    return true;
}

BOOL CExtReportGridCategoryComboBox::PreCreateWindow(CREATESTRUCT& cs)
{
    if (!CExtComboBoxBase::PreCreateWindow(cs))
        return FALSE;
    cs.lpszClass = _T("COMBOBOX");
    cs.style &= ~(CBS_DROPDOWN | CBS_SIMPLE | WS_VSCROLL);
    cs.style |= WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_TABSTOP | CBS_DROPDOWNLIST | CBS_SORT |
                CBS_HASSTRINGS;
    cs.cy = std::max(cs.cy, 400);
    if (cs.hMenu == NULL)
        cs.hMenu = (HMENU)(UINT_PTR)__ID_CATEGORY_COMBO;
    return TRUE;
}

void CExtReportGridCategoryComboBox::PreSubclassWindow()
{
    CExtComboBoxBase::PreSubclassWindow();
    if (m_pWndReport == NULL)
        m_pWndReport = ReportGridOfParent(m_hWnd);
    SetFont(CFont::FromHandle((HFONT)::GetStockObject(DEFAULT_GUI_FONT)), FALSE);
}

void CExtReportGridCategoryComboBox::OnCategorySelected()
{
    if (m_pWndReport == NULL)
        return;
    CExtReportGridColumnChooserWnd* pChooser =
        DYNAMIC_DOWNCAST(CExtReportGridColumnChooserWnd, m_pWndReport->GetColumnChooser());
    if (pChooser == NULL || pChooser->GetSafeHwnd() == NULL)
        return;
    // While the combo box is hidden nothing picks a category: every hidden field is offered.
    const int nSel = GetSafeHwnd() != NULL ? GetCurSel() : CB_ERR;
    if (GetSafeHwnd() == NULL || (GetStyle() & WS_VISIBLE) == 0 || nSel == CB_ERR)
    {
        m_pWndReport->FillColumnChooser(NULL);
        return;
    }
    CString strCategory;
    GetLBText(nSel, strCategory);
    m_pWndReport->FillColumnChooser(strCategory);
}

// The parent hands its WM_COMMAND back to the control: the grid tells of a changed
// selection (a category added, removed or re-selected) as the list itself does.
BOOL CExtReportGridCategoryComboBox::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    const BOOL bHandled = CExtComboBoxBase::OnChildNotify(message, wParam, lParam, pResult);
    if (message != WM_COMMAND || (HIWORD(wParam) != CBN_SELENDOK && HIWORD(wParam) != CBN_SELCHANGE))
        return bHandled;
    OnCategorySelected();
    if (pResult != NULL)
        *pResult = 0;
    return TRUE;
}

LRESULT CExtReportGridCategoryComboBox::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_SIZEPARENT)
    {
        AFX_SIZEPARENTPARAMS* pLayout = reinterpret_cast<AFX_SIZEPARENTPARAMS*>(lParam);
        if (pLayout != NULL && (GetStyle() & WS_VISIBLE) != 0)
        {
            CRect rcWnd;
            GetWindowRect(&rcWnd);
            CRect rc(pLayout->rect);
            rc.bottom = rc.top + rcWnd.Height();
            pLayout->rect.top += rcWnd.Height();
            pLayout->sizeTotal.cy += rcWnd.Height();
            if (pLayout->hDWP != NULL)
                ::AfxRepositionWindow(pLayout, m_hWnd, &rc);
        }
        return 0;
    }
    return CExtComboBoxBase::WindowProc(message, wParam, lParam);
}
