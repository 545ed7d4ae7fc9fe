// A cell reacting to its grid: clicks on its parts and on header cells, keys of the
// focused cell, check-state changes, cell buttons, tips, the expanded-content popup, the
// in-place editor's creation, key filter, verify and apply steps, and the press and
// drag notifications of header cells (which the root leaves to the grid).
#include <algorithm>
#include <cstdio>
#include "toolkit/grid/grid_cell.h"
#include "toolkit/grid/grid_wnd.h"
#include "toolkit/grid/grid_cell_typed_common.h"
#include "toolkit/grid/grid_inplace_edit.h"
#include "toolkit/grid/grid_data_provider.h"
#include "toolkit/menus/popup_menu_tip_wnd.h"
#include "toolkit/theme/paint_manager.h"

namespace {

bool IsKeyDown(int nVirtKey) { return (::GetKeyState(nVirtKey) & 0x8000) != 0; }

bool HasCheck(const CExtGridCell& cell) { return (cell.GetStyle() & CExtGridCell::__EGCS_CHK_MASK) != 0; }

INT ToggledCheckState(const CExtGridCell& cell) { return (cell.GetStyle() & CExtGridCell::__EGCS_CHECKED) ? 0 : 1; }

// The focused inner cell's rectangles, when the grid shows it.
bool FocusedCellRects(CExtGridWnd& wndGrid, POINT& ptFocus, CRect& rcExtra, CRect& rcCell, int& nVisibleCol,
                      int& nVisibleRow)
{
    ptFocus = wndGrid.FocusGet();
    if (ptFocus.x < 0 || ptFocus.y < 0) return false;
    return wndGrid.GetCellRects(ptFocus.x, ptFocus.y, 0, 0, &rcExtra, &rcCell, &nVisibleCol, &nVisibleRow);
}

}  // namespace

// The tail every value change from a popup or an editor ends with: the provider sorts
// again by the grid's orders and the focused cell is brought into view.
static void ResortAndShowFocus(CExtGridWnd& wndGrid)
{
    if (CExtGridDataProvider* pProvider = wndGrid.GetDataProvider()) {
        pProvider->SortApply(true, &wndGrid);
        pProvider->SortApply(false, &wndGrid);
    }
    const POINT ptFocus = wndGrid.FocusGet();
    if (ptFocus.x != -1) wndGrid.EnsureColumnVisible(ptFocus.x);
    if (ptFocus.y != -1) wndGrid.EnsureRowVisible(ptFocus.y);
}

// ---- mouse -------------------------------------------------------------------------------

bool CExtGridCell::OnClick(CExtGridWnd& wndGrid, const HIT_TEST_INFO_T& hti, UINT nButton, UINT nEvent, UINT nFlags)
{
    if ((GetStyle() & __EGCS_READ_ONLY) != 0 || nButton != 1 || (nEvent != 1 && nEvent != 2)) return false;
    const bool bShift = (nFlags & MK_SHIFT) != 0, bCtrl = (nFlags & MK_CONTROL) != 0;
    const INT nColType = hti.GetColumnType(), nRowType = hti.GetRowType();
    if (!bShift && !bCtrl) {
        if ((hti.m_dwAreaFlags & __EGCPF_BUTTON) != 0 && hti.m_nButtonType >= 0 && hti.m_nButtonType <= 3)
            return wndGrid.TrackCellButton(this, hti);
        if ((hti.m_dwAreaFlags & __EGCPF_CHECK) != 0 && HasCheck(*this)) {
            OnChangeCheck(ToggledCheckState(*this), wndGrid, hti.m_nColNo, hti.m_nRowNo, nColType, nRowType,
                          hti.m_rcItem);
            wndGrid.OnCellValueChanged(this, hti.m_nRowNo, hti.m_nColNo, nRowType, nColType);
            return true;
        }
    }
    const DWORD dwEdges = HIT_TEST_INFO_T::AREA_NEAR_TOP_EDGE | HIT_TEST_INFO_T::AREA_NEAR_BOTTOM_EDGE |
                          HIT_TEST_INFO_T::AREA_NEAR_LEFT_EDGE | HIT_TEST_INFO_T::AREA_NEAR_RIGHT_EDGE;
    bool bLeftOrRight = false;
    if (bCtrl || (hti.m_dwAreaFlags & HIT_TEST_INFO_T::AREA_OUTER) == 0 || (hti.m_dwAreaFlags & dwEdges) != 0 ||
        GetOwner() == NULL || !hti.IsOuter(&bLeftOrRight))
        return false;
    const DWORD dwGridEx = wndGrid.GetGridStyleEx();
    const bool bSelect = (GetStyleEx() & 0x2) == 0 &&
                         (bLeftOrRight ? (dwGridEx & CExtGridWnd::__EGSE_SELECT_ROWS_BY_HEADER) != 0
                                       : (dwGridEx & CExtGridWnd::__EGSE_SELECT_COLUMNS_BY_HEADER) != 0);
    const DWORD dwBehavior = wndGrid.GetBehaviorStyle();
    bool bSort = false, bMerge = false;
    if ((GetStyleEx() & 0x1) == 0) {
        if (nRowType < 0)
            bSort = (dwBehavior & CExtGridWnd::__EGBS_SORT_BY_TOP) != 0;
        else if (nRowType > 0)
            bSort = (dwBehavior & CExtGridWnd::__EGBS_SORT_BY_BOTTOM) != 0;
        else if (nColType < 0)
            bSort = (dwBehavior & CExtGridWnd::__EGBS_SORT_BY_LEFT) != 0;
        else
            bSort = (dwBehavior & CExtGridWnd::__EGBS_SORT_BY_RIGHT) != 0;
        if (bSort && bShift)
            bMerge = (dwBehavior & (bLeftOrRight ? CExtGridWnd::__EGBS_SORT_MULTI_ROWS
                                                 : CExtGridWnd::__EGBS_SORT_MULTI_COLUMNS)) != 0;
    }
    if (!bSelect && !bSort) return false;
    CExtGridDataSortOrder order;
    if (bSort) {
        CExtGridDataSortOrder::ITEM_INFO item(bLeftOrRight ? hti.m_nRowNo : hti.m_nColNo, true);
        order.m_arrItems.Add(item);
    }
    // A top or bottom header sorts the rows by its column; a side header the columns.
    wndGrid.TrackOuterCellPress(this, hti, (int)nButton, nFlags, true, bSort ? &order : NULL, bMerge, bLeftOrRight);
    return true;
}

void CExtGridCell::OnHover(CExtGridWnd& wndGrid, const HIT_TEST_INFO_T& hti, bool bHoverEnter, bool bHoverLeave)
{
    // The root shows nothing of its own on hover; kinds with hover looks override this.
    (void)wndGrid, (void)hti, (void)bHoverEnter, (void)bHoverLeave;
}

bool CExtGridCell::OnSetCursor(CExtGridWnd& wndGrid, const HIT_TEST_INFO_T& hti) const
{
    // The grid's cursor stays unless a kind sets its own.
    (void)wndGrid, (void)hti;
    return false;
}

// ---- check state and buttons -----------------------------------------------------------------

void CExtGridCell::OnChangeCheck(INT nNewState, CExtGridWnd& wndGrid, LONG nColNo, LONG nRowNo, INT nColType,
                                 INT nRowType, const RECT& rcCell)
{
    const DWORD dwOld = GetStyle();
    const DWORD dwType = dwOld & __EGCS_CHK_MASK;
    if (dwType == 0 || nNewState < 0 || nNewState > 2 || (dwOld & __EGCS_READ_ONLY) != 0) return;
    if (nNewState == 2 && dwType == __EGCS_CHK_RADIO) return;
    const DWORD dwNew = stat_CheckStyleForState(dwOld, nNewState);
    if (dwNew != dwOld) {
        const DWORD dwBits = __EGCS_CHK_MASK | __EGCS_CHECKED;
        ModifyStyle(dwNew & dwBits, dwBits);
        if (wndGrid.GetSafeHwnd() != NULL) ::InvalidateRect(wndGrid.GetSafeHwnd(), &rcCell, TRUE);
    }
    wndGrid.OnCheckStateChanged(this, nColNo, nRowNo, nColType, nRowType);
}

void CExtGridCell::OnButtonPressing(CExtGridWnd& wndGrid, INT nButtonType, bool bMouseInsideButton,
                                    ULONG nPressedTimerCounter, const RECT& rcButton, const RECT& rcCellExtra,
                                    const RECT& rcCell, LONG nColNo, LONG nRowNo, INT nColType, INT nRowType)
{
    if (wndGrid.OnGridCellButtonPressing(this, nButtonType, bMouseInsideButton, nPressedTimerCounter, rcButton,
                                         rcCellExtra, rcCell, nColNo, nRowNo, nColType, nRowType))
        return;
    if (!bMouseInsideButton || (nButtonType != __EBTT_UPDOWN_UP && nButtonType != __EBTT_UPDOWN_DOWN)) return;
    bool bEnabled = false;
    if (!OnQueryButtonInfo(nButtonType, &bEnabled) || !bEnabled) return;
    const bool bStepped = nButtonType == __EBTT_UPDOWN_UP ? (CanIncrement() && Increment())
                                                          : (CanDecrement() && Decrement());
    if (!bStepped) return;
    wndGrid.OnCellValueChanged(this, nRowNo, nColNo, nRowType, nColType);
    if (wndGrid.GetSafeHwnd() != NULL) ::InvalidateRect(wndGrid.GetSafeHwnd(), &rcCell, TRUE);
}

void CExtGridCell::OnButtonPressed(CExtGridWnd& wndGrid, INT nButtonType, const RECT& rcCellExtra, const RECT& rcCell,
                                   LONG nVisibleColNo, LONG nVisibleRowNo, LONG nColNo, LONG nRowNo, INT nColType,
                                   INT nRowType)
{
    if (wndGrid.OnGridCellButtonPressed(this, nButtonType, rcCellExtra, rcCell, nVisibleColNo, nVisibleRowNo, nColNo,
                                        nRowNo, nColType, nRowType))
        return;
    const HWND hWndGrid = wndGrid.GetSafeHwnd();
    const POINT ptFocus = wndGrid.FocusGet();
    if (nColType == 0 && nRowType == 0 && (ptFocus.x != nColNo || ptFocus.y != nRowNo)) {
        wndGrid.FocusSet(CPoint(nColNo, nRowNo), true, true, true, true);
        if (hWndGrid != NULL) ::UpdateWindow(hWndGrid);
    }
    switch (nButtonType) {
    case __EBTT_DROPDOWN: {
        if (hWndGrid != NULL) {
            ::InvalidateRect(hWndGrid, &rcCell, TRUE);
            ::UpdateWindow(hWndGrid);
        }
        POPUP_LIST_INFO pli(this, &wndGrid, rcCell, rcCellExtra, nColNo, nRowNo, nColType, nRowType, nVisibleColNo,
                            nVisibleRowNo);
        OnButtonPopupMenuTrack(pli);  // the cell may be gone afterwards
        break;
    }
    case __EBTT_UPDOWN_UP:
    case __EBTT_UPDOWN_DOWN: {
        bool bEnabled = false;
        if (OnQueryButtonInfo(nButtonType, &bEnabled) && bEnabled) {
            const bool bStepped = nButtonType == __EBTT_UPDOWN_UP ? (CanIncrement() && Increment())
                                                                  : (CanDecrement() && Decrement());
            if (bStepped) wndGrid.OnCellValueChanged(this, nRowNo, nColNo, nRowType, nColType);
        }
        break;
    }
    default:
        // The ellipsis: the application answers through the grid's button hook.
        break;
    }
    if (nButtonType >= __EBTT_DROPDOWN && nButtonType <= __EBTT_UPDOWN_DOWN && ::IsWindow(hWndGrid)) {
        ::InvalidateRect(hWndGrid, &rcCell, TRUE);
        if (nButtonType == __EBTT_DROPDOWN) ::UpdateWindow(hWndGrid);
    }
}

// ---- keyboard ----------------------------------------------------------------------------------

bool CExtGridCell::OnSysKey(CExtGridWnd& wndGrid, bool bKeyDownEvent, UINT nChar, UINT nRepCnt, UINT nFlags)
{
    (void)nRepCnt;
    if (!bKeyDownEvent || IsKeyDown(VK_CONTROL) || IsKeyDown(VK_SHIFT)) return false;
    // The context bit of a system key's flags says Alt is held.
    if ((nFlags & KF_ALTDOWN) == 0 && !IsKeyDown(VK_MENU)) return false;
    if ((nChar != VK_UP && nChar != VK_DOWN) || (GetStyle() & __EGCS_BUTTON_DROPDOWN) == 0) return false;
    if (nChar == VK_UP) return true;
    POINT ptFocus;
    CRect rcExtra, rcCell;
    int nVisibleCol = -1, nVisibleRow = -1;
    if (FocusedCellRects(wndGrid, ptFocus, rcExtra, rcCell, nVisibleCol, nVisibleRow)) {
        POPUP_LIST_INFO pli(this, &wndGrid, rcCell, rcExtra, ptFocus.x, ptFocus.y, 0, 0, nVisibleCol, nVisibleRow);
        OnButtonPopupMenuTrack(pli);
    }
    return true;
}

bool CExtGridCell::OnKey(CExtGridWnd& wndGrid, bool bKeyDownEvent, UINT nChar, UINT nRepCnt, UINT nFlags)
{
    (void)nRepCnt, (void)nFlags;
    const DWORD dwStyle = GetStyle();
    if (bKeyDownEvent) {
        if (nChar != VK_F4 || IsKeyDown(VK_CONTROL) || IsKeyDown(VK_SHIFT) || IsKeyDown(VK_MENU)) return false;
        if ((dwStyle & (__EGCS_BUTTON_DROPDOWN | __EGCS_BUTTON_ELLIPSIS)) == 0) return false;
        POINT ptFocus;
        CRect rcExtra, rcCell;
        int nVisibleCol = -1, nVisibleRow = -1;
        if (!FocusedCellRects(wndGrid, ptFocus, rcExtra, rcCell, nVisibleCol, nVisibleRow)) return false;
        if (dwStyle & __EGCS_BUTTON_DROPDOWN) {
            POPUP_LIST_INFO pli(this, &wndGrid, rcCell, rcExtra, ptFocus.x, ptFocus.y, 0, 0, nVisibleCol,
                                nVisibleRow);
            OnButtonPopupMenuTrack(pli);
        } else {
            OnButtonPressed(wndGrid, __EBTT_ELLIPSIS, rcExtra, rcCell, nVisibleCol, nVisibleRow, ptFocus.x, ptFocus.y,
                            0, 0);
        }
        return true;
    }
    const bool bToggleKey = nChar == VK_SPACE || (nChar == VK_RETURN && (dwStyle & __EGCS_NO_INPLACE_CONTROL) != 0);
    if (!bToggleKey || !HasCheck(*this)) return false;
    const POINT ptFocus = wndGrid.FocusGet();
    CRect rcCell(0, 0, 0, 0);
    wndGrid.GetCellRects(ptFocus.x, ptFocus.y, 0, 0, NULL, &rcCell);
    OnChangeCheck(ToggledCheckState(*this), wndGrid, ptFocus.x, ptFocus.y, 0, 0, rcCell);
    wndGrid.OnCellValueChanged(this, ptFocus.y, ptFocus.x, 0, 0);
    return true;
}

// ---- tips and the expanded content ----------------------------------------------------------

bool CExtGridCell::OnQueryTipText(CExtGridWnd& wndGrid, const HIT_TEST_INFO_T& hti, CString& strTipText) const
{
    if (wndGrid.OnGridCellQueryTipText(*this, hti, strTipText)) return true;
    strTipText.Empty();
    TextGet(strTipText);
    return !strTipText.IsEmpty();
}

bool CExtGridCell::OnInitTipWnd(CExtGridWnd& wndGrid, const HIT_TEST_INFO_T& hti, CExtPopupMenuTipWnd& wndTip,
                                const RECT& rcArea) const
{
    (void)rcArea;
    CString sText;
    OnQueryTipText(wndGrid, hti, sText);
    if (sText.IsEmpty()) return false;
    wndTip.SetText(sText);
    wndTip.SetTipStyle(wndGrid.GetTipMode());
    return true;
}

bool CExtGridCell::OnInitToolTip(CExtGridWnd& wndGrid, const HIT_TEST_INFO_T& hti, CToolTipCtrl& wndToolTip,
                                 UINT nIdTool, const RECT& rcTool) const
{
    if (wndToolTip.GetSafeHwnd() == NULL) return false;
    CString sText;
    OnQueryTipText(wndGrid, hti, sText);
    if (sText.IsEmpty()) {
        wndToolTip.DelTool(&wndGrid, nIdTool);
        return false;
    }
    wndToolTip.AddTool(&wndGrid, sText, &rcTool, nIdTool);
    return true;
}

bool CExtGridCell::OnInitContentExpandWnd(CExtGridWnd& wndGrid, const HIT_TEST_INFO_T& hti,
                                          CExtContentExpandWnd& wndContentExpand, const RECT& rcExcludeArea,
                                          INT nSizeOfExpandShadow) const
{
    (void)rcExcludeArea;
    if ((GetStyleEx() & __EGCS_EX_UNDEFINED_ROLE) != 0) return false;
    if (::IsWindow(wndGrid.GetInplaceControl())) return false;
    const CRect rcPart(hti.m_rcPart);
    if ((hti.m_dwAreaFlags & __EGCPF_TEXT) == 0 || rcPart.IsRectEmpty() || wndGrid.GetSafeHwnd() == NULL) return false;
    CSize szText;
    {
        CClientDC dc(&wndGrid);
        CRect rcVisibleRange(0, 0, 0, 0);
        szText = OnMeasureText(wndGrid, dc, hti.m_nVisibleColNo, hti.m_nVisibleRowNo, hti.m_nColNo, hti.m_nRowNo,
                               hti.GetColumnType(), hti.GetRowType(), hti.m_rcExtra, hti.m_rcItem, rcVisibleRange,
                               hti.m_dwAreaFlags, 0);
    }
    const UINT nFlags = OnQueryDrawTextFlags(true, true, false);
    CRect rc(0, 0, szText.cx, szText.cy);
    if (nFlags & DT_RIGHT)
        rc.OffsetRect(rcPart.right - szText.cx, 0);
    else if (nFlags & DT_CENTER)
        rc.OffsetRect(rcPart.left + (rcPart.Width() - szText.cx) / 2, 0);
    else
        rc.OffsetRect(rcPart.left, 0);
    if (nFlags & DT_BOTTOM)
        rc.OffsetRect(0, rcPart.bottom - szText.cy);
    else if (nFlags & DT_VCENTER)
        rc.OffsetRect(0, rcPart.top + (rcPart.Height() - szText.cy) / 2);
    else
        rc.OffsetRect(0, rcPart.top);
    CRect rcClient;
    wndGrid.GetClientRect(&rcClient);
    CRect rcInside;
    rcInside.IntersectRect(&rcPart, &rcClient);
    if (rcPart.Width() >= szText.cx && rcPart.Height() >= szText.cy && rcInside == rcPart) return false;
    rc.InflateRect(2, 2);
    rc.right += nSizeOfExpandShadow;
    rc.bottom += nSizeOfExpandShadow;
    wndGrid.ClientToScreen(&rc);
    rc = CExtPaintManager::FitRectIntoMonitor(rc, false, true);
    wndGrid.ScreenToClient(&rc);
    return wndContentExpand.Activate(rc, &wndGrid, 0x3EFE85F);
}

// ---- in-place editing -------------------------------------------------------------------------

HWND CExtGridCell::OnInplaceControlCreate(CExtGridWnd& wndGrid, LONG nVisibleColNo, LONG nVisibleRowNo, LONG nColNo,
                                          LONG nRowNo, INT nColType, INT nRowType, const RECT& rcCellExtra,
                                          const RECT& rcCell, const RECT& rcInplaceControl, LONG nLastEditedColNo,
                                          LONG nLastEditedRowNo)
{
    auto fnCreate = [&](CExtGridInplaceEdit& editor) { return editor.Create(); };
    return gridcell::CreateInplaceEditor<CExtGridInplaceEdit>(
        this, wndGrid, nVisibleColNo, nVisibleRowNo, nColNo, nRowNo, nColType, nRowType, rcCellExtra, rcCell,
        rcInplaceControl, nLastEditedColNo, nLastEditedRowNo, fnCreate);
}

bool CExtGridCell::OnInplaceControlKey(MSG* pMsg, HWND hWndInplaceControl, CExtGridWnd& wndGrid,
                                       const HIT_TEST_INFO_T& htiCell, const RECT& rcCellExtra, const RECT& rcCell)
{
    (void)rcCellExtra, (void)rcCell;
    if (pMsg == NULL) return false;
    LRESULT lResult = 0;
    if (wndGrid.OnGridCellInplaceControlMessage(this, hWndInplaceControl, pMsg->message, pMsg->wParam,
                                                pMsg->lParam, lResult, htiCell.m_nColNo, htiCell.m_nRowNo,
                                                htiCell.GetColumnType(), htiCell.GetRowType()))
        return true;
    // Alt alone would move the focus to the frame's menu and end the edit with it.
    return (pMsg->message == WM_KEYDOWN || pMsg->message == WM_KEYUP || pMsg->message == WM_SYSKEYDOWN ||
            pMsg->message == WM_SYSKEYUP) &&
           pMsg->wParam == VK_MENU;
}

bool CExtGridCell::OnInplaceControlTextInputVerify(HWND hWndInplaceControl, CExtGridWnd& wndGrid, LONG nColNo,
                                                   LONG nRowNo, INT nColType, INT nRowType, LPCTSTR sTextInitial,
                                                   LPCTSTR sTextPrevious, CString& sTextNew, bool bEndEdit)
{
    if (wndGrid.OnGridCellInplaceControlTextInputVerify(this, hWndInplaceControl, nColNo, nRowNo, nColType, nRowType,
                                                        sTextInitial, sTextPrevious, sTextNew, bEndEdit))
        return true;
    if (!bEndEdit) return true;
    LPCTSTR sText = sTextNew;
    return SUCCEEDED(OnParseText(sText != NULL ? sText : _T("")));
}

void CExtGridCell::OnInplaceControlApply(HWND hWndInplaceControl, CExtGridWnd& wndGrid, LONG nColNo, LONG nRowNo,
                                         INT nColType, INT nRowType, LPCTSTR sTextNew, bool bSaveChanges)
{
    if (bSaveChanges) {
        TextSet(sTextNew);
        ResortAndShowFocus(wndGrid);
    }
    wndGrid.OnInplaceControlApplied(this, hWndInplaceControl, nColNo, nRowNo, nColType, nRowType, sTextNew,
                                    bSaveChanges);
}

void CExtGridCell::OnInplaceControlApplyDateTime(HWND hWndInplaceControl, CExtGridWnd& wndGrid, LONG nColNo,
                                                 LONG nRowNo, INT nColType, INT nRowType, const COleDateTime& dtValue,
                                                 bool bSaveChanges)
{
    if (bSaveChanges) {
        const CString sText = dtValue.Format(0, LANG_USER_DEFAULT);
        TextSet(sText);
        ResortAndShowFocus(wndGrid);
    }
    wndGrid.OnInplaceControlApplied(this, hWndInplaceControl, nColNo, nRowNo, nColType, nRowType, dtValue,
                                    bSaveChanges);
}

void CExtGridCell::OnInplaceControlApplyInteger(HWND hWndInplaceControl, CExtGridWnd& wndGrid, LONG nColNo,
                                                LONG nRowNo, INT nColType, INT nRowType, INT nValue,
                                                bool bSaveChanges)
{
    if (bSaveChanges) {
        TCHAR sText[100];
        _sntprintf(sText, 99, _T("%d"), nValue);
        sText[99] = _T('\0');
        TextSet(sText);
        ResortAndShowFocus(wndGrid);
    }
    wndGrid.OnInplaceControlApplied(this, hWndInplaceControl, nColNo, nRowNo, nColType, nRowType, (int)nValue,
                                    bSaveChanges);
}

void CExtGridCell::OnInplaceControlApplyIPAddress(HWND hWndInplaceControl, CExtGridWnd& wndGrid, LONG nColNo,
                                                  LONG nRowNo, INT nColType, INT nRowType, DWORD dwIPAddress,
                                                  bool bSaveChanges)
{
    if (bSaveChanges) {
        CString sText;
        sText.Format(_T("%d.%d.%d.%d"), (int)((dwIPAddress >> 24) & 0xFF), (int)((dwIPAddress >> 16) & 0xFF),
                     (int)((dwIPAddress >> 8) & 0xFF), (int)(dwIPAddress & 0xFF));
        TextSet(sText);
        ResortAndShowFocus(wndGrid);
    }
    wndGrid.OnInplaceControlApplied(this, hWndInplaceControl, nColNo, nRowNo, nColType, nRowType, dwIPAddress,
                                    bSaveChanges);
}

// ---- header press and drag -------------------------------------------------------------------
// The root cell lets the grid do the pressing, sorting and moving.

bool CExtGridCell::OnOuterPressBegin(CExtGridWnd& wndGrid, const HIT_TEST_INFO_T& hti, INT nButton, UINT nFlags)
{
    (void)wndGrid, (void)hti, (void)nButton, (void)nFlags;
    return false;
}

void CExtGridCell::OnOuterPressStateChanged(CExtGridWnd& wndGrid, const HIT_TEST_INFO_T& hti, INT nButton,
                                            UINT nFlags, bool bPressed)
{
    (void)wndGrid, (void)hti, (void)nButton, (void)nFlags, (void)bPressed;
}

bool CExtGridCell::OnOuterPressEnd(CExtGridWnd& wndGrid, const HIT_TEST_INFO_T& hti, INT nButton, UINT nFlags,
                                   bool bClicked, bool bDragStarted)
{
    (void)wndGrid, (void)hti, (void)nButton, (void)nFlags, (void)bClicked, (void)bDragStarted;
    return false;
}

bool CExtGridCell::OnOuterDragBegin(CExtGridWnd& wndGrid, const HIT_TEST_INFO_T& hti, INT nButton, UINT nFlags)
{
    (void)wndGrid, (void)hti, (void)nButton, (void)nFlags;
    return false;
}

bool CExtGridCell::OnOuterDragComplete(CExtGridWnd& wndGrid, bool bDropped, const HIT_TEST_INFO_T& htiSource,
                                       const HIT_TEST_INFO_T& htiTarget)
{
    (void)wndGrid, (void)bDropped, (void)htiSource, (void)htiTarget;
    return false;
}

bool CExtGridCell::OnOuterDragRemove(CExtGridWnd& wndGrid, const HIT_TEST_INFO_T& hti)
{
    (void)wndGrid, (void)hti;
    return false;
}
