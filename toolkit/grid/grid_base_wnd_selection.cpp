// The grid base window's focus cell and selection areas, and how inserting and removing
// columns or rows carries them along.
#include "toolkit/grid/grid_base_wnd.h"
#include <algorithm>

namespace {

RECT Ordered(RECT rc)
{
    if (rc.right < rc.left)
        std::swap(rc.left, rc.right);
    if (rc.bottom < rc.top)
        std::swap(rc.top, rc.bottom);
    return rc;
}

bool HasNoCells(const RECT& rc)
{
    return (rc.left < 0 && rc.right < 0) || (rc.top < 0 && rc.bottom < 0);
}

const RECT g_rcNone = {-1, -1, -1, -1};

}  // namespace

bool CExtGridBaseWnd::IsSelectionEnabled() const { return (GetScrollItemStyle() & GRID_SELECTION_MODE) != 0; }

bool CExtGridBaseWnd::HoldsCell(const RECT& rcArea, int nColumn, int nRow) const
{
    const RECT rc = Ordered(rcArea);
    const bool bColumn = nColumn == -1 || (nColumn >= rc.left && nColumn <= rc.right);
    const bool bRow = nRow == -1 || (nRow >= rc.top && nRow <= rc.bottom);
    return bColumn && bRow;
}

int CExtGridBaseWnd::SelectionGetHitCount(int nColumn, int nRow)
{
    if (nColumn == -1 && nRow == -1)
        return 0;
    int nHits = 0;
    for (INT_PTR i = 0; i < m_arrSelection.GetSize(); i++)
    {
        RECT rc = m_arrSelection[i];
        NormalizeSelectionRect(rc);
        if (HoldsCell(rc, nColumn, nRow))
            nHits++;
    }
    return nHits;
}

bool CExtGridBaseWnd::OnQuerySelected(int nColumn, int nRow) { return IsSelected(nColumn, nRow); }

bool CExtGridBaseWnd::IsSelected(int nColumn, int nRow)
{
    if ((nColumn < 0 && nRow < 0) || m_arrSelection.GetSize() == 0)
        return false;
    const bool bXor = (GetScrollItemStyle() & GRID_XOR_SELECTION) != 0;
    if (bXor && (nColumn == -1 || nRow == -1))
    {
        // Parity decides per cell, so each cell of the line is asked.
        for (INT_PTR i = 0; i < m_arrSelection.GetSize(); i++)
        {
            RECT rc = m_arrSelection[i];
            NormalizeSelectionRect(rc);
            rc = Ordered(rc);
            if (nColumn == -1)
            {
                if (nRow < rc.top || nRow > rc.bottom)
                    continue;
                for (int c = std::max(0L, rc.left); c <= rc.right; c++)
                    if (IsSelected(c, nRow))
                        return true;
            }
            else
            {
                if (nColumn < rc.left || nColumn > rc.right)
                    continue;
                for (int r = std::max(0L, rc.top); r <= rc.bottom; r++)
                    if (IsSelected(nColumn, r))
                        return true;
            }
        }
        return false;
    }
    int nHits = 0;
    for (INT_PTR i = 0; i < m_arrSelection.GetSize(); i++)
    {
        RECT rc = m_arrSelection[i];
        NormalizeSelectionRect(rc);
        if (!HoldsCell(rc, nColumn, nRow))
            continue;
        if (!bXor)
            return true;
        nHits++;
    }
    return (nHits & 1) != 0;
}

int CExtGridBaseWnd::SelectionGetAreaCount() const { return (int)m_arrSelection.GetSize(); }

RECT CExtGridBaseWnd::SelectionGet(bool bNormalize, int nAreaNumber)
{
    const int nCount = (int)m_arrSelection.GetSize();
    if (nCount == 0 || nAreaNumber >= nCount)
        return g_rcNone;
    if (nAreaNumber >= 0)
    {
        RECT rc = m_arrSelection[nAreaNumber];
        NormalizeSelectionRect(rc);
        return bNormalize ? Ordered(rc) : rc;
    }
    RECT rcBound = Ordered(m_arrSelection[0]);
    for (int i = 1; i < nCount; i++)
    {
        const RECT rc = Ordered(m_arrSelection[i]);
        rcBound.left = std::min(rcBound.left, rc.left);
        rcBound.top = std::min(rcBound.top, rc.top);
        rcBound.right = std::max(rcBound.right, rc.right);
        rcBound.bottom = std::max(rcBound.bottom, rc.bottom);
    }
    return rcBound;
}

void CExtGridBaseWnd::SelectionGetArea(RECT& rc, bool bNormalized, int nAreaNumber)
{
    rc = SelectionGet(bNormalized, nAreaNumber);
}

bool CExtGridBaseWnd::SelectionRemoveArea(int nAreaNumber, bool bRedraw)
{
    if (nAreaNumber < 0 || nAreaNumber >= (int)m_arrSelection.GetSize() || !OnSelectionChanging())
        return false;
    m_arrSelection.RemoveAt(nAreaNumber);
    OnSelectionChanged();
    if (bRedraw && ::IsWindow(m_hWnd))
        Redraw();
    return true;
}

bool CExtGridBaseWnd::SelectionSetArea(int nAreaNumber, const RECT& rcArea, bool bRedraw)
{
    if (nAreaNumber < 0 || nAreaNumber >= (int)m_arrSelection.GetSize() || !OnSelectionChanging())
        return false;
    RECT rc = rcArea;
    NormalizeSelectionRect(rc);
    m_arrSelection[nAreaNumber] = rc;
    OnSelectionChanged();
    if (bRedraw && ::IsWindow(m_hWnd))
        Redraw();
    return true;
}

void CExtGridBaseWnd::SelectionAddArea(const RECT& rcArea)
{
    RECT rc = rcArea;
    NormalizeSelectionRect(rc);
    if (HasNoCells(rc))
        return;
    if ((GetScrollItemStyle() & GRID_XOR_SELECTION) == 0)
    {
        for (INT_PTR i = m_arrSelection.GetSize() - 1; i >= 0; i--)
            if (::EqualRect(&m_arrSelection[i], &rc))
                m_arrSelection.RemoveAt(i);
    }
    m_arrSelection.Add(rc);
}

bool CExtGridBaseWnd::SelectionInsertArea(int nAreaNumber, const RECT& rcArea, bool bRedraw)
{
    if (!IsSelectionEnabled() || HasNoCells(rcArea) || !OnSelectionChanging())
        return false;
    RECT rc = rcArea;
    NormalizeSelectionRect(rc);
    if (nAreaNumber < 0 || nAreaNumber > (int)m_arrSelection.GetSize())
        m_arrSelection.Add(rc);
    else
        m_arrSelection.InsertAt(nAreaNumber, rc);
    OnSelectionChanged();
    if (bRedraw && ::IsWindow(m_hWnd))
        Redraw();
    return true;
}

bool CExtGridBaseWnd::SelectionSet(const RECT& rcArea, bool bReset, bool bReplaceLast, bool bRedraw)
{
    if (!IsSelectionEnabled() || !OnSelectionChanging())
        return false;
    if ((GetScrollItemStyle() & GRID_MULTI_AREAS) == 0 || bReset)
        m_arrSelection.RemoveAll();
    RECT rc = rcArea;
    NormalizeSelectionRect(rc);
    if (bReplaceLast && m_arrSelection.GetSize() > 0)
        m_arrSelection[m_arrSelection.GetSize() - 1] = rc;
    else
        SelectionAddArea(rc);
    if ((GetScrollItemStyle() & GRID_FOCUS_FOLLOWS_SELECTION) != 0)
    {
        const POINT ptCorner = {rc.right, rc.bottom};
        FocusSet(ptCorner, bRedraw, bRedraw, false, bRedraw);
    }
    if (::IsWindow(m_hWnd))
    {
        if (m_ptFocus.x >= 0)
            EnsureColumnVisible(m_ptFocus.x, false);
        if (m_ptFocus.y >= 0)
            EnsureRowVisible(m_ptFocus.y, false);
    }
    OnSelectionChanged();
    if (bRedraw && ::IsWindow(m_hWnd))
        Redraw();
    return true;
}

bool CExtGridBaseWnd::SelectionUnset(bool bSelectFocus, bool bRedraw)
{
    if (!IsSelectionEnabled() || !OnSelectionChanging())
        return false;
    m_arrSelection.RemoveAll();
    bool bResult = true;
    if (bSelectFocus)
        bResult = SelectFocusCell(m_ptFocus, true, false);
    else
        OnSelectionChanged();
    if (bRedraw && ::IsWindow(m_hWnd))
        Redraw();
    return bResult;
}

bool CExtGridBaseWnd::SelectFocusCell(const POINT& ptCell, bool bReplace, bool bRedraw)
{
    const int nMode = GetSelectionMode();
    if (nMode == 0)
    {
        if (bRedraw && ::IsWindow(m_hWnd))
            Redraw();
        return false;
    }
    RECT rc = {ptCell.x, ptCell.y, ptCell.x, ptCell.y};
    const bool bBounded = m_nCountColumns >= 0 && m_nCountRows >= 0;
    if (nMode == GRID_SELECT_ROWS && bBounded && m_nCountColumns != 0)
        rc.left = 0, rc.right = m_nCountColumns - 1;
    else if (nMode == GRID_SELECT_COLUMNS && bBounded && m_nCountRows != 0)
        rc.top = 0, rc.bottom = m_nCountRows - 1;
    return SelectionSet(rc, bReplace, false, bRedraw);
}

int CExtGridBaseWnd::SelectionGetNext(bool bAlongColumns, bool bForward, int nColumn, int nRow)
{
    if (m_nCountColumns < 0)
        return -1;
    // Along columns the row stays and the column moves; otherwise the reverse.
    const int nFixed = bAlongColumns ? nRow : nColumn;
    const int nMoving = bAlongColumns ? nColumn : nRow;
    const int nFixedCount = bAlongColumns ? m_nCountRows : m_nCountColumns;
    const int nMovingCount = bAlongColumns ? m_nCountColumns : m_nCountRows;
    if (nFixedCount <= 0 || nMovingCount <= 0 || nFixed < 0 || nFixed >= nFixedCount || nMoving >= nMovingCount ||
        nMoving < -1)
        return -1;
    int i;
    if (nMoving == -1)
        i = bForward ? 0 : nMovingCount - 1;
    else
        i = bForward ? nMoving + 1 : nMoving - 1;
    for (; i >= 0 && i < nMovingCount; i += bForward ? 1 : -1)
    {
        const bool bSelected = bAlongColumns ? IsSelected(i, nFixed) : IsSelected(nFixed, i);
        if (bSelected)
            return i;
    }
    return -1;
}

POINT CExtGridBaseWnd::FocusGet() const { return m_ptFocus; }

POINT CExtGridBaseWnd::FocusSet(const POINT& ptNew, bool bEnsureColumnVisible, bool bEnsureRowVisible, bool bSelect,
                                bool bRedraw, bool* pbVetoed)
{
    const POINT ptOld = m_ptFocus;
    if (!OnFocusChanging(ptOld, ptNew, bEnsureColumnVisible, bEnsureRowVisible, bSelect, bRedraw))
    {
        if (pbVetoed != NULL)
            *pbVetoed = true;
        return ptOld;
    }
    if (pbVetoed != NULL)
        *pbVetoed = false;
    m_ptFocus = ptNew;
    if (bSelect)
        SelectFocusCell(ptNew, true, bRedraw);
    if (::IsWindow(m_hWnd))
    {
        if (bEnsureColumnVisible && ptNew.x >= 0)
            EnsureColumnVisible(ptNew.x, bRedraw);
        if (bEnsureRowVisible && ptNew.y >= 0)
            EnsureRowVisible(ptNew.y, bRedraw);
    }
    OnFocusChanged(ptOld, ptNew);
    return ptOld;
}

POINT CExtGridBaseWnd::FocusUnset(bool bRedraw)
{
    const POINT ptNone = {-1, -1};
    return FocusSet(ptNone, false, false, false, bRedraw);
}

void CExtGridBaseWnd::SelectionSplit(bool bSplitColumns, bool bSplitRows)
{
    for (int nPass = 0; nPass < 2; nPass++)
    {
        const bool bColumns = nPass == 0;
        if (!(bColumns ? bSplitColumns : bSplitRows))
            continue;
        for (INT_PTR i = m_arrSelection.GetSize() - 1; i >= 0; i--)
        {
            const RECT rc = Ordered(m_arrSelection[i]);
            const LONG nFrom = bColumns ? rc.left : rc.top, nTo = bColumns ? rc.right : rc.bottom;
            if (nTo <= nFrom)
                continue;
            for (LONG k = nFrom; k <= nTo; k++)
            {
                RECT rcPiece = rc;
                if (bColumns)
                    rcPiece.left = rcPiece.right = k;
                else
                    rcPiece.top = rcPiece.bottom = k;
                if (k == nFrom)
                    m_arrSelection[i] = rcPiece;
                else
                    m_arrSelection.InsertAt(i + (k - nFrom), rcPiece);
            }
        }
    }
}

bool CExtGridBaseWnd::OnSelectionChanging() { return true; }
void CExtGridBaseWnd::OnSelectionChanged() {}
bool CExtGridBaseWnd::OnFocusChanging(const POINT&, const POINT&, bool&, bool&, bool&, bool&) { return true; }
void CExtGridBaseWnd::OnFocusChanged(const POINT&, const POINT&) {}
void CExtGridBaseWnd::NormalizeSelectionRect(RECT&) {}

POINT CExtGridBaseWnd::AdjustFocusOnUnboundedAxis(const POINT& ptFocus) { return ClipVirtualCell(ptFocus); }

void CExtGridBaseWnd::CheckFocusOnUnboundedAxes(bool bRedraw)
{
    const POINT ptFocus = m_ptFocus;
    const bool bH = GetScrollTypeH() == __ESIS_ST_UNBOUNDED && ptFocus.x >= 0 && !IsItemRangeLimitedAtStart(true) &&
                    !IsItemRangeLimitedAtEnd(true);
    const bool bV = !bH && GetScrollTypeV() == __ESIS_ST_UNBOUNDED && ptFocus.y >= 0 &&
                    !IsItemRangeLimitedAtStart(false) && !IsItemRangeLimitedAtEnd(false);
    if (!bH && !bV)
        return;
    const POINT ptNew = AdjustFocusOnUnboundedAxis(ptFocus);
    if (ptNew.x >= 0 && ptNew.y >= 0)
        FocusSet(ptNew, false, false, false, bRedraw);
    else
        FocusUnset(bRedraw);
}

// ---- inserting and removing columns and rows -------------------------------------------

bool CExtGridBaseWnd::InsertColumns(int nPos, int nCount, bool bRedraw) { return InsertItems(true, nPos, nCount, bRedraw); }
bool CExtGridBaseWnd::InsertRows(int nPos, int nCount, bool bRedraw) { return InsertItems(false, nPos, nCount, bRedraw); }
int CExtGridBaseWnd::RemoveColumns(int nPos, int nCount, bool bRedraw) { return RemoveItems(true, nPos, nCount, bRedraw); }
int CExtGridBaseWnd::RemoveRows(int nPos, int nCount, bool bRedraw) { return RemoveItems(false, nPos, nCount, bRedraw); }

namespace {

LONG& Near(RECT& rc, bool bColumns) { return bColumns ? rc.left : rc.top; }
LONG& Far(RECT& rc, bool bColumns) { return bColumns ? rc.right : rc.bottom; }

}  // namespace

bool CExtGridBaseWnd::InsertItems(bool bColumns, int nPos, int nCount, bool bRedraw)
{
    const int nOld = ItemCount(bColumns);
    if (nCount < 0 || ScrollType(bColumns) == __ESIS_ST_UNBOUNDED || nOld < 0)
        return false;
    if (nCount > 0)
    {
        if (nCount > 0x7FFFFFFF - nOld)
            return false;
        OnCancelTracking();
        if (nPos < 0 || nPos > nOld)
            nPos = nOld;
        (bColumns ? m_nCountColumns : m_nCountRows) = nOld + nCount;
        if (nPos < nOld)
        {
            const LONG nFocus = bColumns ? m_ptFocus.x : m_ptFocus.y;
            if (nFocus >= nPos)
            {
                POINT pt = m_ptFocus;
                (bColumns ? pt.x : pt.y) += nCount;
                FocusSet(pt, false, false, false, false);
            }
            for (INT_PTR i = 0; i < m_arrSelection.GetSize(); i++)
            {
                RECT rc = m_arrSelection[i];
                bool bChanged = false;
                for (LONG* pEdge : {&Near(rc, bColumns), &Far(rc, bColumns)})
                    if (*pEdge >= nPos)
                        *pEdge += nCount, bChanged = true;
                if (bChanged)
                    SelectionSetArea((int)i, rc, false);
            }
        }
    }
    if (bRedraw && ::IsWindow(m_hWnd))
        UpdateScrollBars(), Redraw();
    return true;
}

int CExtGridBaseWnd::RemoveItems(bool bColumns, int nPos, int nCount, bool bRedraw)
{
    const int nOld = ItemCount(bColumns);
    if (nPos < 0 || ScrollType(bColumns) == __ESIS_ST_UNBOUNDED || nPos >= nOld)
        return 0;
    OnCancelTracking();
    if (nCount < 0 || nCount > nOld - nPos)
        nCount = nOld - nPos;
    if (nCount == 0)
    {
        if (bRedraw && ::IsWindow(m_hWnd))
            Redraw();
        return 0;
    }
    const int nNew = nOld - nCount;
    (bColumns ? m_nCountColumns : m_nCountRows) = nNew;
    if (nNew > 0)
    {
        const int nRunEnd = nPos + nCount - 1;
        const LONG nFocus = bColumns ? m_ptFocus.x : m_ptFocus.y;
        if (nFocus > nRunEnd)
        {
            POINT pt = m_ptFocus;
            (bColumns ? pt.x : pt.y) -= nCount;
            FocusSet(pt, false, false, false, false);
        }
        else if (nFocus >= nPos)
            FocusUnset(false);
        // The edge that fell into the run lands on the item now at the run's place, or on
        // the new last one when the run was at the end.
        const LONG nLanding = nPos < nNew ? nPos : nNew - 1;
        for (INT_PTR i = m_arrSelection.GetSize() - 1; i >= 0; i--)
        {
            RECT rc = m_arrSelection[i];
            const RECT rcOrdered = Ordered(rc);
            const LONG nLow = bColumns ? rcOrdered.left : rcOrdered.top;
            const LONG nHigh = bColumns ? rcOrdered.right : rcOrdered.bottom;
            if (nLow >= nPos && nHigh <= nRunEnd)
            {
                SelectionRemoveArea((int)i, false);
                continue;
            }
            bool bChanged = false;
            for (LONG* pEdge : {&Near(rc, bColumns), &Far(rc, bColumns)})
            {
                if (*pEdge > nRunEnd)
                    *pEdge -= nCount, bChanged = true;
                else if (*pEdge >= nPos)
                    *pEdge = nLanding, bChanged = true;
            }
            if (bChanged)
                SelectionSetArea((int)i, rc, false);
        }
    }
    else
    {
        FocusUnset(false);
        if (m_arrSelection.GetSize() > 0 && OnSelectionChanging())
        {
            m_arrSelection.RemoveAll();
            OnSelectionChanged();
        }
    }
    if (bRedraw && ::IsWindow(m_hWnd))
        UpdateScrollBars(), Redraw();
    return nCount;
}
