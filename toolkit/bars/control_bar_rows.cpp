// The rows of a dock bar as a bar sees them: its neighbours in its row, the bars of its
// row and of the rows beside it. A dock bar's array holds NULL at index 0, a NULL at the
// end of every row, placeholder ids below 0x10000 for bars that left, and bars.
#include "toolkit/bars/control_bar.h"

namespace {

CControlBar* EntryBar(const CPtrArray& arr, INT_PTR i)
{
    void* p = arr[i];
    if (p == NULL || reinterpret_cast<UINT_PTR>(p) < 0x10000)
        return NULL;
    return reinterpret_cast<CControlBar*>(p);
}

bool IsRowEnd(const CPtrArray& arr, INT_PTR i) { return arr[i] == NULL; }

// The array positions [first, last] of the row that holds position nPos.
void RowBounds(const CPtrArray& arr, INT_PTR nPos, INT_PTR& nFirst, INT_PTR& nLast)
{
    nFirst = nPos;
    while (nFirst > 0 && !IsRowEnd(arr, nFirst - 1))
        nFirst--;
    nLast = nPos;
    while (nLast + 1 < arr.GetSize() && !IsRowEnd(arr, nLast + 1))
        nLast++;
}

bool IsCounted(CControlBar* pBar, bool bOnlyExtBars, bool bOnlyResizable)
{
    if (pBar == NULL)
        return false;
    CExtControlBar* pExtBar = DYNAMIC_DOWNCAST(CExtControlBar, pBar);
    if ((bOnlyExtBars || bOnlyResizable) && pExtBar == NULL)
        return false;
    if (bOnlyResizable && pExtBar->IsFixedMode())
        return false;
    return true;
}

bool IsVisibleBar(CControlBar* pBar) { return pBar->GetSafeHwnd() != NULL && (pBar->GetStyle() & WS_VISIBLE) != 0; }

}  // namespace

INT_PTR CExtControlBar::FindOwnDockBarPos() const
{
    if (m_pDockBar == NULL)
        return -1;
    const CPtrArray& arr = m_pDockBar->m_arrBars;
    for (INT_PTR i = 0; i < arr.GetSize(); i++)
        if (arr[i] == static_cast<const void*>(static_cast<const CControlBar*>(this)))
            return i;
    return -1;
}

CExtControlBar* CExtControlBar::FindRowNeighbour(bool bNext, bool bOnlyExtBars, bool bOnlyResizable) const
{
    const INT_PTR nPos = FindOwnDockBarPos();
    if (nPos < 0)
        return NULL;
    const CPtrArray& arr = m_pDockBar->m_arrBars;
    const INT_PTR nStep = bNext ? 1 : -1;
    for (INT_PTR i = nPos + nStep; i >= 0 && i < arr.GetSize() && !IsRowEnd(arr, i); i += nStep)
    {
        CControlBar* pBar = EntryBar(arr, i);
        if (IsCounted(pBar, bOnlyExtBars, bOnlyResizable))
            return DYNAMIC_DOWNCAST(CExtControlBar, pBar);
    }
    return NULL;
}

CExtControlBar* CExtControlBar::FindRowEdgeBar(bool bNext, bool bOnlyExtBars, bool bOnlyResizable) const
{
    CExtControlBar* pEdge = const_cast<CExtControlBar*>(this);
    for (CExtControlBar* p = FindRowNeighbour(bNext, bOnlyExtBars, bOnlyResizable); p != NULL;
         p = p->FindRowNeighbour(bNext, bOnlyExtBars, bOnlyResizable))
        pEdge = p;
    return pEdge;
}

bool CExtControlBar::IsFirstInRow(bool bOnlyResizable) const
{
    const INT_PTR nPos = FindOwnDockBarPos();
    if (nPos < 0)
        return true;
    const CPtrArray& arr = m_pDockBar->m_arrBars;
    for (INT_PTR i = nPos - 1; i >= 0 && !IsRowEnd(arr, i); i--)
        if (IsCounted(EntryBar(arr, i), false, bOnlyResizable))
            return false;
    return true;
}

bool CExtControlBar::IsSingleInRow(bool bExtOnly, bool bResizableOnly) const
{
    const INT_PTR nPos = FindOwnDockBarPos();
    if (nPos < 0)
        return true;
    const CPtrArray& arr = m_pDockBar->m_arrBars;
    INT_PTR nFirst = 0, nLast = 0;
    RowBounds(arr, nPos, nFirst, nLast);
    for (INT_PTR i = nFirst; i <= nLast; i++)
    {
        CControlBar* pBar = EntryBar(arr, i);
        if (i == nPos || !IsCounted(pBar, bExtOnly, bResizableOnly) || !IsVisibleBar(pBar))
            continue;
        return false;
    }
    return true;
}

bool CExtControlBar::IsMinimizedInRow() const
{
    if (IsDockedVertically())
        return m_sizeDockedV.cy == GetMinVertExtent();
    return m_sizeDockedH.cx == GetMinHorzExtent();
}

void CExtControlBar::GatherRow(INT_PTR nRowPos, bool bResizableOnly, bool bVisibleOnly,
                               CArray<CExtControlBar*, CExtControlBar*>& arrBars, RECT* prcRow, int* pnFirstIndex,
                               bool* pbRowFirst, bool* pbRowLast) const
{
    arrBars.RemoveAll();
    if (prcRow != NULL)
        ::SetRectEmpty(prcRow);
    if (pnFirstIndex != NULL)
        *pnFirstIndex = -1;
    if (pbRowFirst != NULL)
        *pbRowFirst = false;
    if (pbRowLast != NULL)
        *pbRowLast = false;
    if (m_pDockBar == NULL || nRowPos < 0)
        return;
    const CPtrArray& arr = m_pDockBar->m_arrBars;
    INT_PTR nFirst = 0, nLast = 0;
    RowBounds(arr, nRowPos, nFirst, nLast);
    if (pnFirstIndex != NULL)
        *pnFirstIndex = int(nFirst);
    if (pbRowFirst != NULL)
        *pbRowFirst = nFirst <= 1;
    if (pbRowLast != NULL)
    {
        bool bLast = true;
        for (INT_PTR i = nLast + 1; i < arr.GetSize(); i++)
            if (EntryBar(arr, i) != NULL)
                bLast = false;
        *pbRowLast = bLast;
    }
    CRect rcRow(0, 0, 0, 0);
    for (INT_PTR i = nFirst; i <= nLast; i++)
    {
        CExtControlBar* pBar = DYNAMIC_DOWNCAST(CExtControlBar, EntryBar(arr, i));
        if (pBar == NULL || (bResizableOnly && pBar->IsFixedMode()) || (bVisibleOnly && !IsVisibleBar(pBar)))
            continue;
        arrBars.Add(pBar);
        if (pBar->GetSafeHwnd() != NULL)
        {
            CRect rcBar;
            pBar->GetWindowRect(&rcBar);
            if (rcRow.IsRectNull())
                rcRow = rcBar;
            else
                rcRow.UnionRect(&rcRow, &rcBar);
        }
    }
    if (prcRow != NULL)
        *prcRow = rcRow;
}

void CExtControlBar::GetRowBars(CArray<CExtControlBar*, CExtControlBar*>& arrBars, bool bVisibleOnly, RECT* prcRow,
                                int* pnFirstIndex, bool* pbRowFirst, bool* pbRowLast) const
{
    GatherRow(FindOwnDockBarPos(), true, bVisibleOnly, arrBars, prcRow, pnFirstIndex, pbRowFirst, pbRowLast);
}

void CExtControlBar::GetRowExtBars(CArray<CExtControlBar*, CExtControlBar*>& arrBars, bool bVisibleOnly,
                                   RECT* prcRow, int* pnFirstIndex, bool* pbRowFirst, bool* pbRowLast) const
{
    GatherRow(FindOwnDockBarPos(), false, bVisibleOnly, arrBars, prcRow, pnFirstIndex, pbRowFirst, pbRowLast);
}

void CExtControlBar::GetNeighbourRowBars(bool bNextRow, CArray<CExtControlBar*, CExtControlBar*>& arrBars,
                                         RECT* prcRow, int* pnFirstIndex, bool* pbRowFirst, bool* pbRowLast) const
{
    arrBars.RemoveAll();
    const INT_PTR nPos = FindOwnDockBarPos();
    INT_PTR nRowPos = -1;
    if (nPos >= 0)
    {
        const CPtrArray& arr = m_pDockBar->m_arrBars;
        INT_PTR nFirst = 0, nLast = 0;
        RowBounds(arr, nPos, nFirst, nLast);
        // The nearest row beyond the row end (or before the row start) that holds a bar.
        if (bNextRow)
        {
            for (INT_PTR i = nLast + 1; i < arr.GetSize() && nRowPos < 0; i++)
                if (EntryBar(arr, i) != NULL)
                    nRowPos = i;
        }
        else
        {
            for (INT_PTR i = nFirst - 1; i >= 0 && nRowPos < 0; i--)
                if (EntryBar(arr, i) != NULL)
                    nRowPos = i;
        }
    }
    GatherRow(nRowPos, false, true, arrBars, prcRow, pnFirstIndex, pbRowFirst, pbRowLast);
}

bool CExtControlBar::IsLastInRow(bool bVisibleOnly) const
{
    CArray<CExtControlBar*, CExtControlBar*> arrBars;
    GetRowBars(arrBars, bVisibleOnly);
    return arrBars.GetSize() > 0 && arrBars[arrBars.GetSize() - 1] == this;
}
