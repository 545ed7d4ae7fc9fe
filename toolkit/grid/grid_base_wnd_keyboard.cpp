// The grid base window's keyboard navigation: arrows, pages and ends move the focus and
// the selection by the selection mode, or scroll where the mode moves nothing.
#include "toolkit/grid/grid_base_wnd.h"
#include <algorithm>

bool CExtGridBaseWnd::OnEditKey(UINT) { return false; }

bool CExtGridBaseWnd::IsItemBeyondRange(bool bColumns, int nIndex, DWORD dwAreaFlags)
{
    return bColumns ? IsWalkColumnSkipped(nIndex, dwAreaFlags) : IsWalkRowSkipped(nIndex, dwAreaFlags);
}

LRESULT CExtGridBaseWnd::OnKeyDownMsg(WPARAM wParam, LPARAM lParam)
{
    if (OnKeyDown((UINT)wParam, LOWORD(lParam), HIWORD(lParam)))
        return 0;
    return Default();
}

int CExtGridBaseWnd::ReadModifiers()
{
    const bool bAlt = ::GetAsyncKeyState(VK_MENU) < 0;
    const bool bCtrl = ::GetAsyncKeyState(VK_CONTROL) < 0;
    const bool bShift = ::GetAsyncKeyState(VK_SHIFT) < 0;
    if (bAlt)
        return KEYMOD_OTHER;
    if (bCtrl)
        return bShift ? KEYMOD_CTRL_SHIFT : KEYMOD_CTRL;
    return bShift ? KEYMOD_SHIFT : KEYMOD_NONE;
}

void CExtGridBaseWnd::ScrollByKey(bool bVert, UINT nCode)
{
    if (!IsScrollBarVisible(!bVert))
        return;
    CScrollBar* pBar = GetScrollBarCtrl(bVert ? SB_VERT : SB_HORZ);
    SendMessage(bVert ? WM_VSCROLL : WM_HSCROLL, MAKEWPARAM(nCode, 0),
                (LPARAM)(pBar != NULL ? pBar->m_hWnd : NULL));
    CheckFocusOnUnboundedAxes(true);
    UpdateHover();
}

bool CExtGridBaseWnd::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    if (m_nTrackingMode == __EGBWA_TRACKING_OUTER_DND)
        return true;
    if (m_nTrackingMode != __EGBWA_TRACKING_NONE)
    {
        SendMessage(WM_CANCELMODE);
        return true;
    }
    if (OnKey(true, nChar, nRepCnt, nFlags))
        return true;
    if (nChar == VK_TAB)
    {
        HWND hParent = ::GetParent(m_hWnd);
        if (hParent != NULL)
            ::SendMessage(hParent, WM_NEXTDLGCTL, ::GetAsyncKeyState(VK_SHIFT) < 0 ? 1 : 0, 0);
        return true;
    }
    RECT rcClient;
    GetClientRectEx(&rcClient);
    if (::IsRectEmpty(&rcClient))
        return true;
    if (nRepCnt == 0)
        nRepCnt = 1;
    if (nChar == VK_RETURN || nChar == VK_F2)
    {
        OnEditKey(nChar);
        return true;
    }
    switch (nChar)
    {
    case VK_UP:
    case VK_DOWN:
    case VK_LEFT:
    case VK_RIGHT:
    case VK_PRIOR:
    case VK_NEXT:
    case VK_HOME:
    case VK_END:
        return NavigateKey(nChar, nRepCnt, ReadModifiers());
    default:
        return false;
    }
}

bool CExtGridBaseWnd::NavigateKey(UINT nChar, UINT nRepCnt, int nMods)
{
    const int nMode = GetSelectionMode();
    const bool bVertKey = nChar == VK_UP || nChar == VK_DOWN;
    const bool bHorzKey = nChar == VK_LEFT || nChar == VK_RIGHT;
    const bool bForward = nChar == VK_DOWN || nChar == VK_RIGHT || nChar == VK_NEXT || nChar == VK_END;
    const bool bPage = nChar == VK_PRIOR || nChar == VK_NEXT;
    const bool bEnds = nChar == VK_HOME || nChar == VK_END;
    // Keys that only scroll in this mode or with these modifiers.
    if (bVertKey && (nMode == 0 || nMode == GRID_SELECT_COLUMNS || nMods == KEYMOD_CTRL))
        return ScrollByKey(true, bForward ? SB_LINEDOWN : SB_LINEUP), true;
    if (bHorzKey && (nMode == 0 || nMode == GRID_SELECT_ROWS || nMods == KEYMOD_CTRL))
        return ScrollByKey(false, bForward ? SB_LINERIGHT : SB_LINELEFT), true;
    if (bPage && (nMode == 0 || nMode == GRID_SELECT_COLUMNS))
    {
        if (nMods == KEYMOD_NONE)
            ScrollByKey(true, bForward ? SB_PAGEDOWN : SB_PAGEUP);
        else if (nMods == KEYMOD_SHIFT)
            ScrollByKey(nMode == GRID_SELECT_COLUMNS, nMode == GRID_SELECT_COLUMNS
                                                          ? (bForward ? SB_PAGEDOWN : SB_PAGEUP)
                                                          : (bForward ? SB_PAGERIGHT : SB_PAGELEFT));
        return true;
    }
    if (bEnds && (nMode == 0 || nMods == KEYMOD_CTRL))
    {
        const bool bVert = nMode == GRID_SELECT_ROWS ? false : (nMode == 0 ? nMods == KEYMOD_CTRL : true);
        ScrollByKey(bVert, bVert ? (bForward ? SB_BOTTOM : SB_TOP) : (bForward ? SB_RIGHT : SB_LEFT));
        return true;
    }
    // A move: rows for the vertical keys, pages and row-mode ends; columns otherwise.
    const bool bColumns = bHorzKey || (bEnds && nMode != GRID_SELECT_ROWS);
    const POINT ptFocus = FocusGet();
    const bool bFocusValid = ptFocus.x >= 0 && ptFocus.y >= 0;
    const int nIndex = std::max(0L, bColumns ? ptFocus.x : ptFocus.y);
    RECT rcRef;
    if (m_arrSelection.GetSize() > 0)
        rcRef = m_arrSelection[m_arrSelection.GetSize() - 1];
    else
        ::SetRect(&rcRef, 0, 0, nMode == GRID_SELECT_ROWS ? std::max(0, m_nCountColumns - 1) : 0,
                  nMode == GRID_SELECT_COLUMNS ? std::max(0, m_nCountRows - 1) : 0);
    int nNew = nIndex;
    bool bGoOn = false;
    if (bVertKey || bHorzKey)
        bGoOn = MoveByArrow(bColumns, bForward, nIndex, nRepCnt, nNew);
    else if (bEnds)
        bGoOn = MoveToEnd(bColumns, bForward, nNew);
    else
        bGoOn = MoveByPage(bForward, nMods, nIndex, nNew);
    if (!bGoOn)
        return true;
    if (bFocusValid && nNew == nIndex)
    {
        UpdateHover();
        return true;
    }
    ApplyMove(nChar, bColumns, nNew, nMods, rcRef, bFocusValid);
    return true;
}

bool CExtGridBaseWnd::MoveByArrow(bool bColumns, bool bForward, int nIndex, UINT nRepCnt, int& nNew)
{
    const UINT nLineCode = bColumns ? (bForward ? SB_LINERIGHT : SB_LINELEFT) : (bForward ? SB_LINEDOWN : SB_LINEUP);
    if (ScrollType(bColumns) == __ESIS_ST_UNBOUNDED)
    {
        if (!bForward)
        {
            if (nIndex == 0)
                return ScrollByKey(!bColumns, nLineCode), false;
            nNew = nIndex - 1;
            return true;
        }
        const int nNext = nIndex + 1;
        if (IsItemBeyondRange(bColumns, nNext, 0x200))
        {
            if (!IsItemRangeLimitedAtEnd(bColumns))
                ScrollByKey(!bColumns, nLineCode);
            return false;
        }
        int nFirst, nLast, nOffset;
        GetVisibleRangeOfAxis(bColumns, nFirst, nLast, nOffset);
        if (nNext >= nLast)
            return ScrollByKey(!bColumns, nLineCode), false;
        nNew = nNext;
        return true;
    }
    const int nCount = ItemCount(bColumns);
    if (nCount <= 0)
        return false;
    const LONGLONG nTarget = (LONGLONG)nIndex + (bForward ? (LONGLONG)nRepCnt : -(LONGLONG)nRepCnt);
    nNew = (int)std::max<LONGLONG>(0, std::min<LONGLONG>(nTarget, nCount - 1));
    return true;
}

bool CExtGridBaseWnd::MoveToEnd(bool bColumns, bool bEnd, int& nNew)
{
    const int nCount = ItemCount(bColumns);
    if (nCount < 0)
    {
        ScrollByKey(!bColumns, bColumns ? (bEnd ? SB_RIGHT : SB_LEFT) : (bEnd ? SB_BOTTOM : SB_TOP));
        return false;
    }
    if (nCount == 0)
        return false;
    nNew = bEnd ? nCount - 1 : 0;
    return true;
}

void CExtGridBaseWnd::FullyVisibleRows(int& nFirst, int& nLast)
{
    int nOffset = 0;
    GetVisibleRangeOfAxis(false, nFirst, nLast, nOffset);
    RECT rcClient;
    GetClientRectEx(&rcClient);
    RECT rcExtent;
    if (nLast - nFirst >= 2 && GetCellRects(0, nLast, m_nCountColumns == 0 ? -1 : 0, 0, &rcExtent) &&
        rcExtent.bottom > rcClient.bottom)
        nLast--;
    if (GetScrollTypeV() == __ESIS_ST_PIXEL && nLast - nFirst >= 2 &&
        GetCellRects(0, nFirst, m_nCountColumns == 0 ? -1 : 0, 0, &rcExtent) && rcExtent.top < rcClient.top)
        nFirst++;
}

bool CExtGridBaseWnd::MoveByPage(bool bDown, int nMods, int nRow, int& nNew)
{
    const int nCount = m_nCountRows;
    if (nMods == KEYMOD_CTRL || nMods == KEYMOD_CTRL_SHIFT)
    {
        if (nCount == 0)
            return false;
        if (nCount < 0)
        {
            ScrollByKey(true, bDown ? SB_BOTTOM : SB_TOP);
            return false;
        }
        nNew = bDown ? nCount - 1 : 0;
        return true;
    }
    int nFirst, nLast;
    FullyVisibleRows(nFirst, nLast);
    if (nLast < nFirst)
        return false;
    if (nRow < nFirst || nRow > nLast)
        nNew = bDown ? nLast : nFirst;
    else if (!bDown)
    {
        if (nRow != nFirst)
            nNew = nFirst;
        else
        {
            ScrollByKey(true, SB_PAGEUP);
            FullyVisibleRows(nFirst, nLast);
            nNew = nFirst;
        }
    }
    else if (nRow < nLast - 1)
        nNew = nLast;
    else
    {
        ScrollByKey(true, SB_PAGEDOWN);
        FullyVisibleRows(nFirst, nLast);
        nNew = nLast;
    }
    if (nCount > 0)
        nNew = std::max(0, std::min(nNew, nCount - 1));
    if (GetScrollTypeV() == __ESIS_ST_UNBOUNDED)
    {
        while (nNew > 0 && IsItemBeyondRange(false, nNew, 0x200))
            nNew--;
        if (IsItemBeyondRange(false, nNew, 0x200))
        {
            FocusUnset(true);
            return false;
        }
    }
    return true;
}

void CExtGridBaseWnd::ApplyMove(UINT nChar, bool bColumns, int nNew, int nMods, const RECT& rcRef, bool bFocusValid)
{
    const bool bPage = nChar == VK_PRIOR || nChar == VK_NEXT;
    const int nMode = GetSelectionMode();
    const bool bExtendMods = nMods == KEYMOD_SHIFT || (bPage && nMods == KEYMOD_CTRL_SHIFT);
    const bool bSingleMods = nMods == KEYMOD_NONE || (bPage && (nMods == KEYMOD_CTRL || nMods == KEYMOD_CTRL_SHIFT));
    const DWORD dwMulti = bColumns ? GRID_MULTI_COLUMNS : GRID_MULTI_ROWS;
    POINT ptFocus = FocusGet();
    if (!bFocusValid)
        ptFocus.x = std::max(0L, ptFocus.x), ptFocus.y = std::max(0L, ptFocus.y);
    (bColumns ? ptFocus.x : ptFocus.y) = nNew;
    RECT rc = rcRef;
    if (bExtendMods && (GetScrollItemStyle() & dwMulti) != 0 && m_arrSelection.GetSize() > 0)
    {
        (bColumns ? rc.right : rc.bottom) = nNew;
        SelectionSet(rc, false, true, false);
    }
    else if (bSingleMods)
    {
        if (nMode == GRID_SELECT_ROWS)
            ::SetRect(&rc, rcRef.left, ptFocus.y, rcRef.right, ptFocus.y);
        else if (nMode == GRID_SELECT_COLUMNS)
            ::SetRect(&rc, ptFocus.x, rcRef.top, ptFocus.x, rcRef.bottom);
        else if (bColumns)
            ::SetRect(&rc, nNew, rcRef.bottom, nNew, rcRef.bottom);
        else
            ::SetRect(&rc, rcRef.right, nNew, rcRef.right, nNew);
        if (nMode == GRID_SELECT_CELLS)
            (bColumns ? ptFocus.y : ptFocus.x) = bColumns ? rc.top : rc.left;
        SelectionSet(rc, true, false, false);
    }
    else
    {
        UpdateHover();
        return;
    }
    FocusSet(ptFocus, true, true, false, true);
    UpdateScrollBars();
    UpdateHover();
}
