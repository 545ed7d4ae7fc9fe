#include "toolkit/grid/grid_sort_keys.h"

#include <string.h>

#include <new>

#include "toolkit/grid/grid_cell_string.h"
#include "toolkit/grid/grid_data_provider.h"
#include "toolkit/grid/grid_prefetch.h"

namespace {

// The style bits CompareCells hands to a cell's Compare.
const DWORD kStyleMask = 0xB0000;
// A table beyond this is not worth its memory; the sort goes without it.
const unsigned long long kMaxTableBytes = 256ull << 20;

}  // namespace

CExtGridSortKeyTable::CExtGridSortKeyTable(CExtGridDataProviderMemory& provider, const CExtGridDataSortOrder& order,
                                           bool bColumns, ULONG nFirst, ULONG nLast)
    : m_provider(provider), m_order(order), m_bColumns(bColumns), m_nFirst(nFirst), m_nLast(nLast),
      m_nKeys((int)order.m_arrItems.GetSize())
{
}

bool CExtGridSortKeyTable::Create()
{
    if (m_nKeys <= 0 || m_nLast < m_nFirst)
        return false;
    const unsigned long long nCount = (unsigned long long)(m_nLast - m_nFirst + 1) * (unsigned)m_nKeys;
    if (nCount * sizeof(KEY) > kMaxTableBytes)
        return false;
    try
    {
        m_arrKeys.assign((size_t)nCount, KEY());
    }
    catch (const std::bad_alloc&)
    {
        return false;
    }
    GatherFirstKey();
    return true;
}

// Every position's first key is compared in the first partition anyway. Fetched one by
// one as the comparisons come, each cell and then its text is a wait on memory once the
// rows no longer fit the caches; gathered in one pass the loads of the positions ahead
// are started early and overlap. Only cells that exist are taken here: an empty place
// is left to Fetch, so default cells are made in the order the comparisons ask for them
// (their addresses break ties).
void CExtGridSortKeyTable::GatherFirstKey()
{
    auto Existing = [&](ULONG n) { return CellAt(n, 0, false); };
    // The cell of the position this far ahead is asked for, that of the position half as
    // far ahead (arrived by now) gives the address of its text.
    for (ULONG n = m_nFirst; n <= m_nLast; n++)
    {
        if (m_nLast - n >= GRID_PREFETCH_AHEAD)
        {
            GridPrefetch(Existing(n + GRID_PREFETCH_AHEAD));
            GridPrefetchText(Existing(n + GRID_PREFETCH_AHEAD / 2));
        }
        if (CExtGridCell* pCell = Existing(n))
            Fill(m_arrKeys[(size_t)(n - m_nFirst) * (unsigned)m_nKeys], pCell);
    }
}

bool CExtGridSortKeyTable::Covers(const CExtGridDataSortOrder& order, bool bColumns, ULONG n1, ULONG n2) const
{
    return &order == &m_order && bColumns == m_bColumns && Holds(n1) && Holds(n2);
}

// The cell is fetched on the first comparison that needs it, with the arguments the
// provider's own comparison uses, so a default cell is made for an empty place exactly
// when it would be without the table.
CExtGridSortKeyTable::KEY& CExtGridSortKeyTable::Fetch(ULONG n, int nKey)
{
    KEY& key = m_arrKeys[(size_t)(n - m_nFirst) * (unsigned)m_nKeys + (unsigned)nKey];
    if ((key.m_nFlags & FETCHED) != 0)
        return key;
    Fill(key, CellAt(n, nKey, true));
    return key;
}

// bMake: as the provider's own comparison asks, making a default cell for an empty place;
// else only a cell that exists.
CExtGridCell* CExtGridSortKeyTable::CellAt(ULONG n, int nKey, bool bMake)
{
    const ULONG nKeyNo = (ULONG)m_order.m_arrItems[nKey].m_nRowColNo;
    return m_bColumns ? m_provider.CellGet(n, nKeyNo, NULL, bMake, bMake)
                      : m_provider.CellGet(nKeyNo, n, NULL, bMake, bMake);
}

void CExtGridSortKeyTable::Fill(KEY& key, CExtGridCell* pCell)
{
    key.m_pCell = pCell;
    key.m_nFlags = FETCHED;
    // Only a cell of exactly the string class: a derived one may compare otherwise.
    if (pCell == NULL || pCell->GetRuntimeClass() != RUNTIME_CLASS(CExtGridCellString))
        return;
    LPCSTR sText = static_cast<CExtGridCellString*>(pCell)->TextStored();
    if (sText == NULL)
        sText = "";
    const size_t nLength = strnlen(sText, PREFIX + 1);
    memcpy(key.m_arrPrefix, sText, nLength < (size_t)PREFIX ? nLength : (size_t)PREFIX);
    BYTE nAscii = 0;
    while (nAscii < PREFIX && key.m_arrPrefix[nAscii] < 0x80)
        nAscii++;
    key.m_nAscii = nAscii;
    key.m_dwStyle = pCell->GetStyle() & kStyleMask;
    key.m_nFlags |= PLAIN | (nLength <= PREFIX ? COMPLETE : 0);
    if (!static_cast<CExtGridCellString*>(pCell)->HasOwnLook())
        key.m_nFlags |= NO_LOOK;
}

// Two plain string cells compare their texts byte by byte while both are ASCII, then,
// when neither has a font or colour of its own, the style bits; what the prefixes cannot
// settle (a longer text, a multibyte character, equal texts in their own looks) goes to
// the cells themselves, as does every other kind of cell.
int CExtGridSortKeyTable::CompareKeys(const KEY& a, const KEY& b)
{
    if ((a.m_nFlags & b.m_nFlags & PLAIN) != 0)
    {
        int d = 0;
        while (d < PREFIX && a.m_arrPrefix[d] == b.m_arrPrefix[d])
            d++;
        if (d < PREFIX)
        {
            if (d < a.m_nAscii && d < b.m_nAscii)
                return a.m_arrPrefix[d] < b.m_arrPrefix[d] ? -1 : 1;
        }
        else if ((a.m_nFlags & b.m_nFlags & (COMPLETE | NO_LOOK)) == (COMPLETE | NO_LOOK))
            return a.m_dwStyle < b.m_dwStyle ? -1 : (a.m_dwStyle > b.m_dwStyle ? 1 : 0);
    }
    return m_provider.CompareCells(a.m_pCell, b.m_pCell);
}

int CExtGridSortKeyTable::Compare(ULONG n1, ULONG n2)
{
    if (n1 == n2)
        return 0;
    int nFallback = 0;
    for (int i = 0; i < m_nKeys; i++)
    {
        const KEY& a = Fetch(n1, i);
        const KEY& b = Fetch(n2, i);
        const int nResult = m_order.m_arrItems[i].m_bAscending ? CompareKeys(a, b) : CompareKeys(b, a);
        if (nResult != 0)
            return nResult;
        if (i == 0 && a.m_pCell != b.m_pCell)
            nFallback = a.m_pCell < b.m_pCell ? -1 : 1;
    }
    return nFallback;
}

bool CExtGridSortKeyTable::Swap(bool bColumns, ULONG n1, ULONG n2)
{
    if (bColumns != m_bColumns || !Holds(n1) || !Holds(n2))
        return false;
    KEY* p1 = &m_arrKeys[(size_t)(n1 - m_nFirst) * (unsigned)m_nKeys];
    KEY* p2 = &m_arrKeys[(size_t)(n2 - m_nFirst) * (unsigned)m_nKeys];
    for (int i = 0; i < m_nKeys; i++)
    {
        const KEY t = p1[i];
        p1[i] = p2[i];
        p2[i] = t;
    }
    return true;
}
