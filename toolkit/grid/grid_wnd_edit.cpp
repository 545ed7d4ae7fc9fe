// The grid window's in-place editing (the cell makes its editor, the grid may run the
// edit modally) and the provider's events, which keep the focus and the selection on
// the rows or columns that a sort swaps or a drag moves.
#include "toolkit/grid/grid_wnd.h"
#include <algorithm>
#include "toolkit/menus/popup_menu_wnd.h"

namespace {

const RECT g_rcNone = {0, 0, 0, 0};

// The behaviour bit that lets cells of a band be edited.
DWORD EditBandBit(INT nType, bool bColumns)
{
    if (nType == 0)
        return CExtGridWnd::__EGBS_EDIT_INNER;
    if (bColumns)
        return nType < 0 ? CExtGridWnd::__EGBS_EDIT_OUTER_LEFT : CExtGridWnd::__EGBS_EDIT_OUTER_RIGHT;
    return nType < 0 ? CExtGridWnd::__EGBS_EDIT_OUTER_TOP : CExtGridWnd::__EGBS_EDIT_OUTER_BOTTOM;
}

bool IsWithin(HWND hWnd, HWND hWndOuter)
{
    return hWnd != NULL && (hWnd == hWndOuter || ::IsChild(hWndOuter, hWnd));
}

}  // namespace

bool CExtGridWnd::OnPreEditCell(LONG, LONG, INT, INT) { return false; }

bool CExtGridWnd::GetCellPartRects(LONG nColNo, LONG nRowNo, INT nColType, INT nRowType, RECT* pRectExtra,
                                   RECT* pRectCell, CExtGridCell::CELL_LAYOUT* pLayout)
{
    RECT rcExtra = g_rcNone, rcCell = g_rcNone;
    int nVisibleColumn = -1, nVisibleRow = -1;
    if (!GetCellRects(nColNo, nRowNo, nColType, nRowType, &rcExtra, &rcCell, &nVisibleColumn, &nVisibleRow) ||
        ::IsRectEmpty(&rcCell))
        return false;
    if (pRectExtra != NULL)
        *pRectExtra = rcExtra;
    if (pRectCell != NULL)
        *pRectCell = rcCell;
    if (pLayout != NULL)
    {
        *pLayout = CExtGridCell::CELL_LAYOUT();
        CExtGridCell* pCell = GridCellGet(nColNo, nRowNo, nColType, nRowType);
        if (pCell != NULL && ::IsWindow(m_hWnd))
        {
            RECT rcVisibleRange = g_rcNone;
            GetVisibleRange(rcVisibleRange);
            CClientDC dc(this);
            pCell->CalcPartsLayout(*pLayout, *this, dc, nVisibleColumn, nVisibleRow, nColNo, nRowNo, nColType,
                                   nRowType, rcExtra, rcCell, rcVisibleRange,
                                   HIT_TEST_INFO::AreaFlagsFromTypes(nColType, nRowType), 0);
        }
    }
    return true;
}

bool CExtGridWnd::EditCellAt(LONG nColNo, LONG nRowNo, INT nColType, INT nRowType, const RECT& rcCellExtra,
                             const RECT& rcCell, const RECT& rcInplaceControl, bool bDoMsgLoop)
{
    const DWORD dwFlags = DWORD(EDIT_REPLACE_OPEN) | (bDoMsgLoop ? DWORD(EDIT_MODAL) : 0);
    if (nColNo < 0 || nRowNo < 0)
        return EditCell(nColNo, nRowNo, nColType, nRowType, dwFlags);
    return OnCellEditStart(nColNo, nRowNo, nColType, nRowType, dwFlags, rcCellExtra, rcCell, rcInplaceControl);
}

bool CExtGridWnd::PressCellButtonInstead(CExtGridCell* pCell, int nColumn, int nRow, int nColType, int nRowType,
                                         const RECT& rcExtent, const RECT& rcCell)
{
    int nVisibleColumn = -1, nVisibleRow = -1;
    GetCellRects(nColumn, nRow, nColType, nRowType, NULL, NULL, &nVisibleColumn, &nVisibleRow);
    for (INT nType : {CExtGridCell::__EBTT_DROPDOWN, CExtGridCell::__EBTT_ELLIPSIS})
    {
        bool bEnabled = false;
        if (pCell->OnQueryButtonInfo(nType, &bEnabled) && bEnabled)
        {
            pCell->OnButtonPressed(*this, nType, rcExtent, rcCell, nVisibleColumn, nVisibleRow, nColumn, nRow,
                                   nColType, nRowType);
            return true;
        }
    }
    return false;
}

bool CExtGridWnd::OnCellEditStart(int nColumn, int nRow, int nColType, int nRowType, DWORD dwFlags,
                                  const RECT& rcExtent, const RECT& rcCell, const RECT& rcThird)
{
    if (OnPreEditCell(nColumn, nRow, nColType, nRowType))
        return true;
    if (CExtPopupMenuWnd::IsMenuTracking())
        CExtPopupMenuWnd::CancelMenuTracking();
    const DWORD dwBehavior = GetBehaviorStyle();
    if ((dwBehavior & EditBandBit(nColType, true)) == 0 || (dwBehavior & EditBandBit(nRowType, false)) == 0)
        return false;
    if (GetSafeInplaceActiveHwnd() != NULL)
    {
        if ((dwFlags & EDIT_REPLACE_OPEN) == 0)
            return false;
        HWND hWndOld = m_hWndInplaceControl;
        m_hWndInplaceControl = NULL;
        ::DestroyWindow(hWndOld);
    }
    RECT rcExtra = rcExtent, rcContent = rcCell;
    int nVisibleColumn = -1, nVisibleRow = -1;
    if (!GetCellRects(nColumn, nRow, nColType, nRowType, ::IsRectEmpty(&rcContent) ? &rcExtra : NULL,
                      ::IsRectEmpty(&rcContent) ? &rcContent : NULL, &nVisibleColumn, &nVisibleRow) ||
        ::IsRectEmpty(&rcContent))
        return false;
    CExtGridCell* pCell = GridCellGet(nColumn, nRow, nColType, nRowType);
    if (pCell == NULL)
        return false;
    g_pCellInplaceEditing = pCell;
    HWND hWndEditor = pCell->OnInplaceControlCreate(*this, nVisibleColumn, nVisibleRow, nColumn, nRow, nColType,
                                                    nRowType, rcExtra, rcContent, rcThird, m_nEditedColNo,
                                                    m_nEditedRowNo);
    if (hWndEditor == NULL || !::IsWindow(hWndEditor))
    {
        g_pCellInplaceEditing = NULL;
        return PressCellButtonInstead(pCell, nColumn, nRow, nColType, nRowType, rcExtra, rcContent);
    }
    m_hWndInplaceControl = hWndEditor;
    m_nEditedColNo = nColumn;
    m_nEditedRowNo = nRow;
    if ((dwFlags & EDIT_MODAL) == 0)
        return true;
    RunInplaceEditLoop(pCell);
    g_pCellInplaceEditing = NULL;
    if (!::IsWindow(m_hWnd))
        return true;
    m_nEditedColNo = m_nEditedRowNo = -1;
    HWND hWndOld = m_hWndInplaceControl;
    m_hWndInplaceControl = NULL;
    if (hWndOld != NULL && ::IsWindow(hWndOld))
    {
        if (IsWithin(::GetFocus(), hWndOld))
            SetFocus();
        ::ShowWindow(hWndOld, SW_HIDE);
        ::DestroyWindow(hWndOld);
    }
    return true;
}

// ---- the modal loops' pump -------------------------------------------------------------

bool CExtGridWnd::PumpOneMessage() { return AfxPumpMessage() != FALSE; }

void CExtGridWnd::IdleWait(bool& bIdle)
{
    CWinThread* pThread = AfxGetThread();
    if (bIdle && CExtPopupMenuWnd::g_bPumpCallsOnIdle && pThread != NULL)
    {
        // Idle steps run once per empty queue, until they have no more work.
        for (LONG nCount = 0; pThread->OnIdle(nCount) && nCount < 1000; nCount++)
        {
        }
    }
    bIdle = false;
    ::WaitMessage();
}

// The cell's idle work between messages. A message that arrives stops it at once, so a
// cell that always has more to do cannot freeze the editor. -1: the cell or the window
// went away meanwhile; 1: a message is waiting; 0: the cell has no more idle work.
int CExtGridWnd::RunCellIdle(CExtGridCell* pCell, HWND hWndEditor)
{
    const HWND hWndGrid = m_hWnd;
    MSG msg;
    for (LONG nCount = 0;; nCount++)
    {
        const bool bMore = pCell->OnInplaceControlIdle(hWndEditor, *this, nCount);
        if (!::IsWindow(hWndGrid) || g_pCellInplaceEditing != pCell)
            return -1;
        if (!bMore)
            return 0;
        if (::PeekMessage(&msg, NULL, 0, 0, PM_NOREMOVE))
            return 1;
    }
}

bool CExtGridWnd::PeekTrackMessage(MSG& msg, HWND hWnd, CExtGridCell* const& pTracking, bool& bIdle)
{
    while (!::PeekMessage(&msg, NULL, 0, 0, PM_NOREMOVE))
    {
        if (!::IsWindow(hWnd) || pTracking == NULL)
            return false;
        IdleWait(bIdle);
    }
    bIdle = true;
    return true;
}

void CExtGridWnd::RunInplaceEditLoop(CExtGridCell* pCell)
{
    const HWND hWndGrid = m_hWnd;
    bool bIdle = true;
    for (;;)
    {
        const HWND hWndEditor = m_hWndInplaceControl;
        if (!::IsWindow(hWndGrid) || hWndEditor == NULL || !::IsWindow(hWndEditor) ||
            !::IsWindowVisible(hWndEditor) || g_pCellInplaceEditing != pCell)
            return;
        MSG msg;
        if (!::PeekMessage(&msg, NULL, 0, 0, PM_NOREMOVE))
        {
            if (bIdle)
            {
                const int nIdle = RunCellIdle(pCell, hWndEditor);
                if (nIdle < 0)
                    return;
                // A message that stopped the idle work has been seen already: waiting
                // now would sleep past it.
                if (nIdle > 0)
                    continue;
                // The idle work may have ended the edit itself.
                if (!::IsWindow(hWndEditor) || !::IsWindowVisible(hWndEditor))
                    continue;
            }
            IdleWait(bIdle);
            continue;
        }
        bIdle = true;
        const UINT nMsg = msg.message;
        const bool bToEditor = IsWithin(msg.hwnd, hWndEditor);
        switch (nMsg)
        {
        case WM_CONTEXTMENU:
        case WM_SYSCOMMAND:
        case WM_SYSCOLORCHANGE:
        case WM_SETTINGCHANGE:
        case WM_ACTIVATEAPP:
        case WM_CANCELMODE:
            return;
        case WM_COMMAND:
            if (HIWORD(msg.wParam) == 0 || HIWORD(msg.wParam) == 1)
                return;
            break;
        case WM_KILLFOCUS:
            if (msg.hwnd == hWndEditor)
                return;
            break;
        case WM_CAPTURECHANGED:
            if (bToEditor || (HWND)msg.lParam == hWndEditor)
                return;
            break;
        default:
            if ((nMsg >= WM_NCMOUSEMOVE && nMsg <= WM_NCMBUTTONDBLCLK) ||
                (nMsg >= WM_MOUSEFIRST + 1 && nMsg <= WM_MOUSELAST && nMsg != WM_MOUSEWHEEL && !bToEditor) ||
                (nMsg >= WM_KEYFIRST && nMsg <= WM_KEYLAST && !bToEditor))
                return;
            break;
        }
        if (!PumpOneMessage())
            return;
    }
}

// ---- provider events --------------------------------------------------------------------

void CExtGridWnd::OnSortBegin(bool)
{
    // The rows (columns) under the pointer are about to change places.
    OnCancelTracking(false);
}

void CExtGridWnd::OnSortEnd(bool)
{
    if (::IsWindow(m_hWnd))
        OnHoverUpdate(NULL);
}

void CExtGridWnd::OnSeriesSwapping(bool bColumns, ULONG nRowColNo1, ULONG nRowColNo2, ULONG nSwapCounter)
{
    ULONG nReservedCols = 0, nReservedRows = 0;
    OuterReserved(nReservedCols, nReservedRows);
    const LONG nReserved = (LONG)(bColumns ? nReservedCols : nReservedRows);
    const LONG nA = (LONG)nRowColNo1 - nReserved, nB = (LONG)nRowColNo2 - nReserved;
    if (nA < 0 || nB < 0 || nA == nB)
        return;
    POINT ptFocus = FocusGet();
    LONG& nFocus = bColumns ? ptFocus.x : ptFocus.y;
    if (nFocus == nA || nFocus == nB)
    {
        nFocus = nFocus == nA ? nB : nA;
        FocusSet(ptFocus, false, false, false, false);
    }
    if (nSwapCounter < 1)
        SelectionSplit(bColumns, !bColumns);
    for (int i = 0; i < SelectionGetAreaCount(); i++)
    {
        RECT rc = m_arrSelection[i];
        LONG& nNear = bColumns ? rc.left : rc.top;
        LONG& nFar = bColumns ? rc.right : rc.bottom;
        const LONG nLow = std::min(nNear, nFar), nHigh = std::max(nNear, nFar);
        const bool bHasA = nLow <= nA && nA <= nHigh, bHasB = nLow <= nB && nB <= nHigh;
        if (bHasA == bHasB || nLow != nHigh)
            continue;
        nNear = nFar = bHasA ? nB : nA;
        SelectionSetArea(i, rc, false);
    }
}

void CExtGridWnd::RenumberAfterMove(bool bColumns, LONG nFrom, LONG nTo)
{
    auto renumber = [nFrom, nTo](LONG nIndex) -> LONG {
        if (nFrom < nTo)
        {
            if (nIndex == nFrom)
                return nTo - 1;
            if (nIndex > nFrom && nIndex < nTo)
                return nIndex - 1;
        }
        else
        {
            if (nIndex == nFrom)
                return nTo;
            if (nIndex >= nTo && nIndex < nFrom)
                return nIndex + 1;
        }
        return nIndex;
    };
    POINT ptFocus = FocusGet();
    LONG& nFocus = bColumns ? ptFocus.x : ptFocus.y;
    if (nFocus >= 0)
    {
        const LONG nNew = renumber(nFocus);
        if (nNew != nFocus)
        {
            nFocus = nNew;
            FocusSet(ptFocus, false, false, false, false);
        }
    }
    if (IsSelectionEmpty())
        return;
    SelectionSplit(bColumns, !bColumns);
    for (int i = 0; i < SelectionGetAreaCount(); i++)
    {
        RECT rc = m_arrSelection[i];
        LONG& nNear = bColumns ? rc.left : rc.top;
        LONG& nFar = bColumns ? rc.right : rc.bottom;
        if (nNear != nFar || nNear < 0)
            continue;
        const LONG nNew = renumber(nNear);
        if (nNew == nNear)
            continue;
        nNear = nFar = nNew;
        SelectionSetArea(i, rc, false);
    }
}

void CExtGridWnd::OnSeriesMoved(bool bColumns, ULONG nFrom, ULONG nTo)
{
    if (nTo == nFrom || nTo == nFrom + 1)
        return;
    ULONG nReservedCols = 0, nReservedRows = 0;
    OuterReserved(nReservedCols, nReservedRows);
    const LONG nReserved = (LONG)(bColumns ? nReservedCols : nReservedRows);
    const LONG nGridFrom = (LONG)nFrom - nReserved, nGridTo = (LONG)nTo - nReserved;
    if (nGridFrom < 0 || nGridTo < 0)
        return;
    RenumberAfterMove(bColumns, nGridFrom, nGridTo);
}
