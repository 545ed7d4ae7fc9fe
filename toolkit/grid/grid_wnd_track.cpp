// The grid window's header (outer) cells and cell buttons under the mouse: sorting by a
// header click with sort arrows in the header cells, the modal press of a header cell
// that turns into a drag of its column or row when the pointer moves far enough, the
// drop that moves or removes it, and the modal press of a cell button with auto-repeat.
//
// Each modal loop peeks at the queue without taking messages, handles the fixed set it
// knows, pumps every other message, and leaves the message that ended it in the queue
// unless it was its own. One loop of each kind runs at a time in the process.
#include "toolkit/grid/grid_wnd.h"
#include <algorithm>
#include <windowsx.h>
#include "toolkit/menus/popup_menu_tip_wnd.h"
#include "toolkit/menus/popup_menu_wnd.h"
#include "toolkit/theme/paint_manager.h"

namespace {

UINT ButtonUpMessage(int nButton)
{
    switch (nButton)
    {
    case 1:
        return WM_LBUTTONUP;
    case 2:
        return WM_RBUTTONUP;
    case 4:
        return WM_MBUTTONUP;
    default:
        return 0;
    }
}

bool IsButtonUp(UINT nMsg) { return nMsg == WM_LBUTTONUP || nMsg == WM_RBUTTONUP || nMsg == WM_MBUTTONUP; }

bool IsMouseButtonMessage(UINT nMsg)
{
    return nMsg >= WM_LBUTTONDOWN && nMsg <= WM_MOUSELAST && nMsg != WM_MOUSEWHEEL;
}

// Messages after which no loop of the grid goes on: the user or the system turned to
// something else.
bool EndsEveryLoop(const MSG& msg, HWND hWnd)
{
    switch (msg.message)
    {
    case WM_CAPTURECHANGED:
    case WM_SYSCOMMAND:
    case WM_CANCELMODE:
    case WM_SYSCOLORCHANGE:
    case WM_SETTINGCHANGE:
    case WM_ACTIVATEAPP:
    case WM_CONTEXTMENU:
        return true;
    case WM_COMMAND:
        return HIWORD(msg.wParam) == 0 || HIWORD(msg.wParam) == 1;
    case WM_KILLFOCUS:
        return msg.hwnd == hWnd;
    default:
        return msg.message >= WM_NCMOUSEMOVE && msg.message <= WM_NCMBUTTONDBLCLK;
    }
}

void RemoveMessage(const MSG& msg)
{
    MSG msgTaken;
    ::PeekMessage(&msgTaken, msg.hwnd, msg.message, msg.message, PM_REMOVE);
}

CPoint MessagePoint(const MSG& msg) { return CPoint(GET_X_LPARAM(msg.lParam), GET_Y_LPARAM(msg.lParam)); }

// Mouse buttons and the wheel, alike in every tracking loop: another button ends the
// loop, the wheel over the grid is swallowed and any other wheel ends it. 1 goes on (the
// message taken), -1 ends, 0 leaves the message to the loop.
int ButtonOrWheelStep(const MSG& msg, HWND hWnd)
{
    if (IsMouseButtonMessage(msg.message))
        return -1;
    if (msg.message != WM_MOUSEWHEEL)
        return 0;
    if (msg.hwnd != hWnd)
        return -1;
    RemoveMessage(msg);
    return 1;
}

}  // namespace

// ---- sorting ---------------------------------------------------------------------------

bool CExtGridWnd::GetSortOrder(bool bColumns, CExtGridDataSortOrder& order)
{
    order.Empty();
    CExtGridDataProvider* pDP = GetDataProvider();
    if (pDP == NULL || !pDP->SortOrderGet(order, bColumns))
    {
        order.Empty();
        return false;
    }
    ULONG nReservedCols = 0, nReservedRows = 0;
    OuterReserved(nReservedCols, nReservedRows);
    const LONG nReserved = (LONG)(bColumns ? nReservedRows : nReservedCols);
    if (nReserved > 0)
        order.AdjustForInsertRemove(0, nReserved, false);
    return true;
}

void CExtGridWnd::UpdateSortArrows(bool bColumns, const CExtGridDataSortOrder& order, bool bSet)
{
    if (order.IsEmpty())
        return;
    const int nNear = bColumns ? GetLeftOuterColumnCount() : GetTopOuterRowCount();
    const int nFar = bColumns ? GetRightOuterColumnCount() : GetBottomOuterRowCount();
    if (nNear == 0 && nFar == 0)
        return;
    for (INT_PTR i = 0; i < order.m_arrItems.GetSize(); i++)
    {
        const CExtGridDataSortOrder::ITEM_INFO& item = order.m_arrItems[i];
        for (INT nBand : {-1, 1})
        {
            const int nCount = nBand < 0 ? nNear : nFar;
            for (int j = 0; j < nCount; j++)
            {
                CExtGridCell* pCell = bColumns ? GridCellGet(j, item.m_nRowColNo, nBand, 0)
                                               : GridCellGet(item.m_nRowColNo, j, 0, nBand);
                if (pCell == NULL)
                    continue;
                pCell->ModifyStyle(0, CExtGridCell::__EGCS_SORT_ARROW | CExtGridCell::__EGCS_SORT_DESCENDING);
                if (bSet)
                    pCell->ModifyStyle(CExtGridCell::__EGCS_SORT_ARROW |
                                       (item.m_bAscending ? 0 : DWORD(CExtGridCell::__EGCS_SORT_DESCENDING)));
            }
        }
    }
}

bool CExtGridWnd::SetSortOrder(bool bColumns, const CExtGridDataSortOrder& order, bool bMerge, bool bInvert,
                               bool bRedraw)
{
    if (!order.HasNoDuplicates())
        return false;
    CExtGridDataProvider* pDP = GetDataProvider();
    if (pDP == NULL)
        return false;
    ULONG nReservedCols = 0, nReservedRows = 0;
    OuterReserved(nReservedCols, nReservedRows);
    const LONG nReserved = (LONG)(bColumns ? nReservedRows : nReservedCols);
    CExtGridDataSortOrder orderCurrent;
    if (!GetSortOrder(bColumns, orderCurrent))
        return false;
    CExtGridDataSortOrder orderNew;
    if (!bMerge)
    {
        orderNew = order;
        // A second click on the only key turns its direction around.
        if (bInvert && orderCurrent.m_arrItems.GetSize() == 1 && order.m_arrItems.GetSize() == 1 &&
            orderCurrent.m_arrItems[0].m_nRowColNo == order.m_arrItems[0].m_nRowColNo)
            orderNew.m_arrItems[0].m_bAscending = !orderCurrent.m_arrItems[0].m_bAscending;
    }
    else
    {
        orderNew = orderCurrent;
        orderNew.MergeFrom(order, bInvert);
    }
    if (nReserved > 0)
        orderNew.AdjustForInsertRemove(0, nReserved, true);
    const bool bResult = pDP->SortOrderSet(orderNew, bColumns, this);
    if (bResult)
    {
        if (nReserved > 0)
            orderNew.AdjustForInsertRemove(0, nReserved, false);
        UpdateSortArrows(bColumns, orderCurrent, false);
        UpdateSortArrows(bColumns, orderNew, true);
    }
    if (bRedraw && ::IsWindow(m_hWnd))
    {
        if (bMerge)
        {
            // The tip spoke of the order before the merge.
            CExtPopupMenuTipWnd* pTip = GetSharedTipWnd();
            if (pTip != NULL && pTip->GetSafeHwnd() != NULL && ::IsWindowVisible(pTip->GetSafeHwnd()))
                pTip->Hide();
            if (m_wndToolTip.GetSafeHwnd() != NULL)
                m_wndToolTip.DelTool(this, 1);
            CWnd::CancelToolTips();
        }
        UpdateScrollBars();
        Redraw();
    }
    return bResult;
}

// ---- cell buttons -----------------------------------------------------------------------

bool CExtGridWnd::TrackCellButton(CExtGridCell* pCell, const HIT_TEST_INFO& htiIn)
{
    const HIT_TEST_INFO hti = htiIn;
    const INT nType = hti.m_nButtonType;
    if (g_pCellTrackingButton != NULL || pCell == NULL || ::IsRectEmpty(&hti.m_rcPart) || nType < 0 || nType > 3)
        return false;
    bool bEnabled = false, bKeepPressed = false;
    DWORD nRepeatDelay = 0;
    if (!pCell->OnQueryButtonInfo(nType, &bEnabled, NULL, &bKeepPressed, &nRepeatDelay) || !bEnabled)
        return false;
    const HWND hWnd = m_hWnd;
    const UINT nTimerId = m_nTimerIds[3];
    const INT nColType = hti.GetColumnType(), nRowType = hti.GetRowType();
    g_pCellTrackingButton = pCell;
    // The cell's row may go while the button is held (a repeat's notification removes
    // it): the loop ends then and nothing touches the cell again.
    CExtGridCellWatch watch(pCell);
    pCell->SetButtonPressed(nType, true);
    InvalidateRect(&hti.m_rcPart);
    ULONG nCounter = 0;
    if (nRepeatDelay != 0)
        SetTimer(nTimerId, nRepeatDelay, NULL);
    CExtMouseCaptureSink::SetCapture(m_hWnd);
    bool bPressed = true, bClicked = false, bIdle = true;
    for (bool bLoop = true; bLoop;)
    {
        MSG msg;
        if (g_pCellTrackingButton != pCell || !PeekTrackMessage(msg, hWnd, watch.Ref(), bIdle) ||
            watch.Get() == NULL)
            break;
        const bool bOurs = msg.hwnd == hWnd;
        const UINT nMsg = msg.message;
        if (nMsg == WM_MOUSEMOVE && bOurs)
        {
            RemoveMessage(msg);
            const bool bInside = ::PtInRect(&hti.m_rcPart, MessagePoint(msg)) != FALSE;
            if (bInside != bPressed)
            {
                bPressed = bInside;
                pCell->SetButtonPressed(nType, bPressed);
                InvalidateRect(&hti.m_rcPart);
            }
            continue;
        }
        if (nMsg == WM_TIMER && bOurs && msg.wParam == nTimerId)
        {
            RemoveMessage(msg);
            pCell->OnButtonPressing(*this, nType, bPressed, nCounter, hti.m_rcPart, hti.m_rcExtra, hti.m_rcItem,
                                    hti.m_nColNo, hti.m_nRowNo, nColType, nRowType);
            nCounter++;
            continue;
        }
        if (nMsg == WM_LBUTTONUP && bOurs)
        {
            if (::PtInRect(&hti.m_rcPart, MessagePoint(msg)))
            {
                bClicked = true;
                if (!bPressed)
                {
                    bPressed = true;
                    pCell->SetButtonPressed(nType, true);
                    InvalidateRect(&hti.m_rcPart);
                }
            }
            RemoveMessage(msg);
            break;
        }
        if (const int nStep = ButtonOrWheelStep(msg, hWnd))
        {
            if (nStep < 0)
                break;
            continue;
        }
        if (EndsEveryLoop(msg, hWnd) || (nMsg >= WM_KEYFIRST && nMsg <= WM_KEYLAST))
            break;
        bLoop = PumpOneMessage();
    }
    g_pCellTrackingButton = NULL;
    if (!::IsWindow(hWnd))
        return true;
    KillTimer(nTimerId);
    if (::GetCapture() == hWnd)
        ::ReleaseCapture();
    if (bClicked && watch.Get() != NULL)
    {
        if (!bKeepPressed)
        {
            pCell->SetButtonPressed(nType, false);
            bPressed = false;
        }
        pCell->OnButtonPressed(*this, nType, hti.m_rcExtra, hti.m_rcItem, hti.m_nVisibleColNo, hti.m_nVisibleRowNo,
                               hti.m_nColNo, hti.m_nRowNo, nColType, nRowType);
        if (!::IsWindow(hWnd))
            return true;
    }
    // The button is released by the end whatever happened, on the cell that was
    // pressed: its action may have moved it (a sort after its value changed) or
    // destroyed it.
    if (bPressed && watch.Get() != NULL)
        pCell->SetButtonPressed(nType, false);
    InvalidateRect(&hti.m_rcPart);
    return true;
}

// ---- header press -------------------------------------------------------------------------

CSize CExtGridWnd::GetOuterCellDragThreshold(const HIT_TEST_INFO&) { return CSize(4, 4); }

bool CExtGridWnd::IsDragImageCentered() const { return false; }

int CExtGridWnd::OnOuterCellDropOutside(bool, int, const RECT&, CExtGridCell*, const HIT_TEST_INFO&,
                                        CExtContentExpandWnd&, CExtContentExpandWnd&)
{
    return -1;
}

void CExtGridWnd::SelectByHeaderClick(const HIT_TEST_INFO& hti, UINT nFlags)
{
    const bool bTopBottom = hti.GetRowType() != 0 && hti.GetColumnType() == 0;
    const bool bLeftRight = hti.GetColumnType() != 0 && hti.GetRowType() == 0;
    CExtGridCell* pCell = GetCell(hti);
    if (pCell == NULL || (pCell->GetStyleEx() & 0x2) != 0)
        return;
    const int nColumns = GetColumnCount(), nRows = GetRowCount();
    RECT rc;
    if (bTopBottom && (m_dwGridStyleEx & __EGSE_SELECT_COLUMNS_BY_HEADER) != 0 && nRows > 0)
        rc = {hti.m_nColNo, 0, hti.m_nColNo, nRows - 1};
    else if (bLeftRight && (m_dwGridStyleEx & __EGSE_SELECT_ROWS_BY_HEADER) != 0 && nColumns > 0)
        rc = {0, hti.m_nRowNo, nColumns - 1, hti.m_nRowNo};
    else
        return;
    const bool bKeep = (nFlags & (MK_CONTROL | MK_SHIFT)) != 0 && (GetScrollItemStyle() & GRID_MULTI_AREAS) != 0;
    POINT ptFocus = FocusGet();
    if (bTopBottom)
        ptFocus.x = hti.m_nColNo, ptFocus.y = std::max(0L, ptFocus.y);
    else
        ptFocus.y = hti.m_nRowNo, ptFocus.x = std::max(0L, ptFocus.x);
    FocusSet(ptFocus, bTopBottom, !bTopBottom, false, false);
    SelectionSet(rc, !bKeep, false, true);
}

void CExtGridWnd::TrackOuterCellPress(CExtGridCell* pCell, const HIT_TEST_INFO& htiIn, int nButton, UINT nFlags,
                                      bool bAllowDrag, const CExtGridDataSortOrder* pSortOrder, bool bMerge,
                                      bool bColumns)
{
    const HIT_TEST_INFO hti = htiIn;
    if (pCell == NULL || g_pCellTrackingOuterPress != NULL || hti.IsEmpty())
        return;
    if (pCell->OnOuterPressBegin(*this, hti, nButton, nFlags))
        return;
    g_pCellTrackingOuterPress = pCell;
    // A message pumped below may remove the header's column or row: the press then
    // ends without a click or a drag.
    CExtGridCellWatch watch(pCell);
    const HWND hWnd = m_hWnd;
    const DWORD dwEx = m_dwGridStyleEx;
    bool bRedraw = (dwEx & __EGSE_PRESSED_ANY) != 0;
    m_htiOuterPressed = hti;
    if (bRedraw)
        Redraw();
    CExtMouseCaptureSink::SetCapture(m_hWnd);
    const CSize sizeThreshold = GetOuterCellDragThreshold(hti);
    const bool bTopBottom = hti.GetRowType() != 0;
    const bool bKeepRecord = (bTopBottom && (dwEx & __EGSE_KEEP_PRESS_TB) != 0) ||
                             (!bTopBottom && hti.GetColumnType() != 0 && (dwEx & __EGSE_KEEP_PRESS_LR) != 0);
    const UINT nUpMsg = ButtonUpMessage(nButton);
    bool bPressed = true, bClicked = false, bDragStarted = false, bIdle = true;
    auto pressChanged = [&](const CPoint& point) {
        if (!bKeepRecord)
        {
            if (bPressed)
            {
                m_htiOuterPressed = hti;
                m_htiOuterPressed.m_ptClient = point;
            }
            else
                m_htiOuterPressed = HIT_TEST_INFO(-1, -1);
        }
        pCell->OnOuterPressStateChanged(*this, hti, nButton, nFlags, bPressed);
        if (bRedraw)
            Redraw();
    };
    for (bool bLoop = true; bLoop;)
    {
        MSG msg;
        if (g_pCellTrackingOuterPress != pCell || !PeekTrackMessage(msg, hWnd, watch.Ref(), bIdle) ||
            watch.Get() == NULL)
            break;
        const bool bOurs = msg.hwnd == hWnd;
        const UINT nMsg = msg.message;
        if (nMsg == WM_MOUSEMOVE && bOurs)
        {
            RemoveMessage(msg);
            const CPoint point = MessagePoint(msg);
            const bool bInside = ::PtInRect(&hti.m_rcItem, point) != FALSE;
            if (bInside != bPressed)
            {
                bPressed = bInside;
                pressChanged(point);
            }
            if (bAllowDrag && (std::abs(point.x - hti.m_ptClient.x) >= sizeThreshold.cx ||
                               std::abs(point.y - hti.m_ptClient.y) >= sizeThreshold.cy))
            {
                bDragStarted = true;
                break;
            }
            continue;
        }
        if (IsButtonUp(nMsg))
        {
            if (nMsg != nUpMsg || !bOurs)
                break;
            const CPoint point = MessagePoint(msg);
            if (::PtInRect(&hti.m_rcItem, point))
            {
                bClicked = true;
                if (!bPressed)
                {
                    bPressed = true;
                    bRedraw = true;
                    pressChanged(point);
                }
            }
            RemoveMessage(msg);
            break;
        }
        if (const int nStep = ButtonOrWheelStep(msg, hWnd))
        {
            if (nStep < 0)
                break;
            continue;
        }
        if (nMsg >= WM_KEYFIRST && nMsg <= WM_KEYLAST)
        {
            // The modifier the press started with may repeat while it is held.
            if (nMsg == WM_KEYDOWN && ((msg.wParam == VK_SHIFT && (nFlags & MK_SHIFT) != 0) ||
                                       (msg.wParam == VK_CONTROL && (nFlags & MK_CONTROL) != 0)))
            {
                RemoveMessage(msg);
                continue;
            }
            break;
        }
        if (EndsEveryLoop(msg, hWnd))
            break;
        bLoop = PumpOneMessage();
    }
    g_pCellTrackingOuterPress = NULL;
    if (!::IsWindow(hWnd))
        return;
    if (bRedraw && !bKeepRecord)
        Redraw();
    if (::GetCapture() == hWnd)
        ::ReleaseCapture();
    if (watch.Get() != NULL && !pCell->OnOuterPressEnd(*this, hti, nButton, nFlags, bClicked, bDragStarted))
    {
        if (bClicked && pSortOrder != NULL)
            SetSortOrder(bColumns, *pSortOrder, bMerge, true, true);
        else if (bClicked)
            SelectByHeaderClick(hti, nFlags);
        else if (bDragStarted)
            TrackOuterCellDrag(pCell, hti, nButton, nFlags);
    }
    if (!::IsWindow(hWnd))
        return;
    m_htiOuterPressed = HIT_TEST_INFO(-1, -1);
    if (bRedraw)
        Redraw();
    ResetCursor();
}

// ---- header drag ---------------------------------------------------------------------------

void CExtGridWnd::HitTestInSameBand(const HIT_TEST_INFO& htiRef, HIT_TEST_INFO& htiOut, CPoint point)
{
    htiOut = HIT_TEST_INFO(-1, -1);
    if (htiRef.IsEmpty())
        return;
    htiOut.m_ptClient = point;
    HitTest(htiOut, false, false, true);
    const INT nColType = htiRef.GetColumnType(), nRowType = htiRef.GetRowType();
    bool bKeep = !htiOut.IsEmpty() && htiOut.GetColumnType() == nColType && htiOut.GetRowType() == nRowType;
    if (bKeep)
    {
        if (nColType == 0)
            bKeep = htiOut.m_nRowNo == htiRef.m_nRowNo;
        else if (nRowType == 0)
            bKeep = htiOut.m_nColNo == htiRef.m_nColNo;
    }
    if (!bKeep)
        htiOut = HIT_TEST_INFO(-1, -1);
}

bool CExtGridWnd::DragTargetMoves(const HIT_TEST_INFO& htiSource, const HIT_TEST_INFO& htiTarget)
{
    const bool bRows = htiSource.GetColumnType() != 0;
    const LONG t = bRows ? htiTarget.m_nRowNo : htiTarget.m_nColNo;
    const LONG s = bRows ? htiSource.m_nRowNo : htiSource.m_nColNo;
    const bool bAfter = (htiTarget.m_dwAreaFlags & HIT_TEST_INFO::AREA_OUTER_FAR_HALF) != 0;
    return !(t == s || (bAfter && t + 1 == s) || (!bAfter && t == s + 1));
}

// Where the drag image starts: over the cell, as wide as the cell's content needs, or
// centred under the pointer when the grid asks for that.
CRect CExtGridWnd::DragImageRect(CExtGridCell* pCell, const HIT_TEST_INFO& hti)
{
    CRect rcImage = hti.m_rcItem;
    const CSize sizeMeasured = pCell->MeasureCell(this);
    if (sizeMeasured.cx > rcImage.Width())
        rcImage.right = rcImage.left + sizeMeasured.cx;
    if (IsDragImageCentered())
    {
        const int nWidth = rcImage.Width(), nHeight = rcImage.Height();
        rcImage.left = hti.m_ptClient.x - nWidth / 2;
        rcImage.right = rcImage.left + nWidth;
        rcImage.bottom = hti.m_ptClient.y + 4;
        rcImage.top = rcImage.bottom - nHeight;
    }
    return rcImage;
}

// Shows where the dragged header would land: a line at the near or far side of the
// target, just behind the drag image.
void CExtGridWnd::DragShowMarker(OUTER_DRAG_STATE& st, const HIT_TEST_INFO& htiTarget)
{
    const bool bAfter = (htiTarget.m_dwAreaFlags & HIT_TEST_INFO::AREA_OUTER_FAR_HALF) != 0;
    const RECT& rcT = htiTarget.m_rcExtra;
    CRect rcLine;
    if (st.hti.GetColumnType() != 0)
        rcLine.SetRect(rcT.left, bAfter ? rcT.bottom : rcT.top, rcT.right, bAfter ? rcT.bottom : rcT.top);
    else
        rcLine.SetRect(bAfter ? rcT.right : rcT.left, rcT.top, bAfter ? rcT.right : rcT.left, rcT.bottom);
    st.pWndMarker->Activate(rcLine, this, 0x3EFF11F);
    if (st.pWndMarker->GetSafeHwnd() != NULL)
        ::SetWindowPos(st.pWndMarker->GetSafeHwnd(), st.pWndImage->GetSafeHwnd(), 0, 0, 0, 0,
                       SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
}

// One pointer move of the drag: the drop it would make, the marker, the cursor and the
// image follow at once.
void CExtGridWnd::DragFollowPointer(OUTER_DRAG_STATE& st, CPoint point)
{
    const CPoint ptOffset = point - st.hti.m_ptClient;
    if (ptOffset == st.ptLastOffset)
        return;
    st.ptLastOffset = ptOffset;
    HIT_TEST_INFO htiTarget(-1, -1);
    HitTestInSameBand(st.hti, htiTarget, point);
    if (htiTarget.IsEmpty())
    {
        const int nIndex = OnOuterCellDropOutside(false, st.nOutsideIndex, st.rcImage, st.pCell, st.hti,
                                                  *st.pWndMarker, *st.pWndImage);
        if (nIndex != st.nOutsideIndex)
            st.bMove = st.bRemove = false;
        st.nOutsideIndex = nIndex;
        if (nIndex < 0)
        {
            st.bRemove = true;
            st.bMove = false;
            st.pWndMarker->Deactivate();
        }
        st.htiLast = HIT_TEST_INFO(-1, -1);
    }
    else if (!(HIT_TEST_INFO::IsEqual(htiTarget, st.htiLast, true, true, true) &&
               st.pWndMarker->GetSafeHwnd() != NULL))
    {
        st.bMove = false;
        st.htiLast = htiTarget;
        if (DragTargetMoves(st.hti, htiTarget))
        {
            st.bMove = true;
            DragShowMarker(st, htiTarget);
            st.nOutsideIndex = -1;
        }
        else
            st.pWndMarker->Deactivate();
        st.bRemove = false;
    }
    ::SetCursor(st.bRemove && st.nOutsideIndex < 0 ? m_hCursorOuterDragRemove : m_hCursorOuterDragOK);
    if (st.pWndImage->GetSafeHwnd() != NULL)
    {
        ::SetWindowPos(st.pWndImage->GetSafeHwnd(), NULL, st.rcImageWnd.left + ptOffset.x,
                       st.rcImageWnd.top + ptOffset.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        ::RedrawWindow(st.pWndImage->GetSafeHwnd(), NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW);
    }
    if (st.pWndMarker->GetSafeHwnd() != NULL)
        ::UpdateWindow(st.pWndMarker->GetSafeHwnd());
    UpdateWindow();
    CExtPaintManager::PumpPaintMessages();
}

// The drag's loop: a key other than the held modifiers clears the drop.
void CExtGridWnd::DragLoop(OUTER_DRAG_STATE& st, int nButton, UINT nFlags)
{
    const HWND hWnd = m_hWnd;
    const UINT nUpMsg = ButtonUpMessage(nButton);
    bool bIdle = true;
    for (bool bLoop = true; bLoop;)
    {
        MSG msg;
        if (g_pCellTrackingOuterDrag != st.pWatch->Get() || !PeekTrackMessage(msg, hWnd, st.pWatch->Ref(), bIdle) ||
            st.pWatch->Get() == NULL)
            return;
        const bool bOurs = msg.hwnd == hWnd;
        const UINT nMsg = msg.message;
        if (nMsg == WM_MOUSEMOVE && bOurs)
        {
            RemoveMessage(msg);
            DragFollowPointer(st, MessagePoint(msg));
            continue;
        }
        if (IsButtonUp(nMsg))
        {
            // The drop is where the button went up, whatever move was seen last.
            if (nMsg == nUpMsg && bOurs)
            {
                RemoveMessage(msg);
                DragFollowPointer(st, MessagePoint(msg));
            }
            return;
        }
        if (const int nStep = ButtonOrWheelStep(msg, hWnd))
        {
            if (nStep < 0)
                return;
            continue;
        }
        if (nMsg >= WM_KEYFIRST && nMsg <= WM_KEYLAST)
        {
            if ((nMsg == WM_KEYDOWN || nMsg == WM_KEYUP) &&
                ((msg.wParam == VK_SHIFT && (nFlags & MK_SHIFT) != 0) ||
                 (msg.wParam == VK_CONTROL && (nFlags & MK_CONTROL) != 0)))
            {
                RemoveMessage(msg);
                continue;
            }
            // Any other key cancels the drop.
            st.bMove = st.bRemove = false;
            return;
        }
        if (EndsEveryLoop(msg, hWnd))
            return;
        bLoop = PumpOneMessage();
    }
}

void CExtGridWnd::TrackOuterCellDrag(CExtGridCell* pCell, const HIT_TEST_INFO& htiIn, int nButton, UINT nFlags)
{
    const HIT_TEST_INFO hti = htiIn;
    if (pCell == NULL || g_pCellTrackingOuterDrag != NULL || hti.IsEmpty())
        return;
    if (pCell->OnOuterDragBegin(*this, hti, nButton, nFlags))
        return;
    const HWND hWnd = m_hWnd;
    m_htiOuterPressed = hti;
    CExtContentExpandWnd wndImage, wndMarker;
    // A message pumped by the loop may remove the dragged header's column or row.
    CExtGridCellWatch watch(pCell);
    OUTER_DRAG_STATE st = {pCell, &watch, hti, DragImageRect(pCell, hti), CRect(0, 0, 0, 0), HIT_TEST_INFO(-1, -1),
                           CPoint(0, 0), -1, false, false, &wndImage, &wndMarker};
    if (!wndImage.Activate(st.rcImage, this, 0x3EFE05F))
    {
        m_htiOuterPressed = HIT_TEST_INFO(-1, -1);
        return;
    }
    wndImage.GetWindowRect(&st.rcImageWnd);
    g_pCellTrackingOuterDrag = pCell;
    CExtMouseCaptureSink::SetCapture(m_hWnd);
    ::SetCursor(m_hCursorOuterDragOK);
    DragLoop(st, nButton, nFlags);
    g_pCellTrackingOuterDrag = NULL;
    wndMarker.Deactivate();
    wndImage.Deactivate();
    if (!::IsWindow(hWnd))
        return;
    // With the dragged header gone, the place it was dragged from is no longer known.
    if (watch.Get() == NULL)
    {
        st.bMove = st.bRemove = false;
        st.nOutsideIndex = -1;
    }
    m_htiOuterPressed = HIT_TEST_INFO(-1, -1);
    if (::GetCapture() == hWnd)
        ::ReleaseCapture();
    // Every way out of the loop makes the drop its state describes; a key cleared it.
    if (st.bMove)
        OnOuterCellDragComplete(hti, st.htiLast);
    else if (st.nOutsideIndex >= 0)
        OnOuterCellDropOutside(true, st.nOutsideIndex, st.rcImage, pCell, hti, wndMarker, wndImage);
    else if (st.bRemove)
        OnOuterCellDragRemove(hti);
    if (!::IsWindow(hWnd))
        return;
    OnHoverUpdate(NULL);
    Redraw();
}

void CExtGridWnd::OnOuterCellDragComplete(const HIT_TEST_INFO& htiSource, const HIT_TEST_INFO& htiTarget)
{
    CExtGridCell* pSource = GetCell(htiSource);
    if (pSource != NULL && pSource->OnOuterDragComplete(*this, true, htiSource, htiTarget))
        return;
    CExtGridCell* pTarget = GetCell(htiTarget);
    if (pTarget != NULL && pTarget->OnOuterDragComplete(*this, false, htiSource, htiTarget))
        return;
    CExtGridDataProvider* pDP = GetDataProvider();
    if (pDP == NULL || htiSource.IsEmpty() || htiTarget.IsEmpty())
        return;
    const bool bAfter = (htiTarget.m_dwAreaFlags & HIT_TEST_INFO::AREA_OUTER_FAR_HALF) != 0;
    ULONG nReservedCols = 0, nReservedRows = 0;
    OuterReserved(nReservedCols, nReservedRows);
    if (htiSource.GetColumnType() != 0)
    {
        const LONG nTo = htiTarget.m_nRowNo + (bAfter ? 1 : 0);
        pDP->MoveColumnOrRow(false, htiSource.m_nRowNo + nReservedRows, nTo + nReservedRows, this);
    }
    else
    {
        const LONG nTo = htiTarget.m_nColNo + (bAfter ? 1 : 0);
        pDP->MoveColumnOrRow(true, htiSource.m_nColNo + nReservedCols, nTo + nReservedCols, this);
    }
    SendMessage(WM_CANCELMODE);
}

void CExtGridWnd::OnOuterCellDragRemove(const HIT_TEST_INFO& htiSource)
{
    CExtGridCell* pCell = GetCell(htiSource);
    if (pCell != NULL && pCell->OnOuterDragRemove(*this, htiSource))
        return;
    const bool bRow = htiSource.GetColumnType() != 0;
    if ((m_dwGridStyleEx & (bRow ? __EGSE_DRAG_REMOVE_ROWS : __EGSE_DRAG_REMOVE_COLUMNS)) == 0)
        return;
    // The sort order keyed by the removed item loses that key; with keys left the data
    // is sorted again by them.
    CExtGridDataSortOrder order;
    GetSortOrder(bRow, order);
    const LONG nIndex = bRow ? htiSource.m_nRowNo : htiSource.m_nColNo;
    const bool bWasKey = order.FindIndex(nIndex) >= 0;
    const int nRemoved = bRow ? RemoveRows(nIndex, 1, true) : RemoveColumns(nIndex, 1, true);
    if (nRemoved > 0 && bWasKey && order.m_arrItems.GetSize() > 1)
    {
        CExtGridDataProvider* pDP = GetDataProvider();
        if (pDP != NULL)
            pDP->SortApply(bRow, this);
        Redraw();
    }
}
