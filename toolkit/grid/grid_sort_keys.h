// The sort keys of the series an in-memory provider is sorting, gathered into one compact
// table indexed by position.
//
// The sort compares every series with a pivot and with its partner before a swap, each
// time fetching both cells through CellGet and calling the cells' own Compare. With a
// hundred thousand rows the cells and their texts lie scattered over tens of megabytes,
// and nearly every comparison waited on memory. The table keeps, per position and key,
// the cell fetched once and, for plain string cells, the first bytes of the text and the
// style bits the comparison looks at, so that most comparisons are decided by bytes lying
// side by side; the rest still go to CompareCells. The table moves with every swap, so
// the sort makes exactly the comparisons, swaps and notifications it would make without
// it.
#pragma once
#include <vector>

#include "framework/framework.h"

class CExtGridCell;
class CExtGridDataProviderMemory;
class CExtGridDataSortOrder;

class CExtGridSortKeyTable
{
public:
    CExtGridSortKeyTable(CExtGridDataProviderMemory& provider, const CExtGridDataSortOrder& order, bool bColumns,
                         ULONG nFirst, ULONG nLast);

    // Makes the table (every key still to be fetched); false when it cannot be made, and
    // the sort then goes without it.
    bool Create();

    // True when the table answers a comparison of these two positions under this order.
    bool Covers(const CExtGridDataSortOrder& order, bool bColumns, ULONG n1, ULONG n2) const;
    // The provider's CompareSeries for two covered positions.
    int Compare(ULONG n1, ULONG n2);
    // Follows a swap of two series the provider made; false when the swap lies outside
    // the table, which then no longer matches the series.
    bool Swap(bool bColumns, ULONG n1, ULONG n2);

    // Bytes of a text kept in the table.
    enum { PREFIX = 12 };

private:
    struct KEY
    {
        CExtGridCell* m_pCell;
        DWORD m_dwStyle;        // the style bits the comparison looks at
        BYTE m_arrPrefix[PREFIX];  // the text's first bytes, zero-padded
        BYTE m_nAscii;          // how many of them are below 0x80
        BYTE m_nFlags;
    };
    enum
    {
        FETCHED = 1,   // m_pCell is the position's cell
        PLAIN = 2,     // a plain string cell: the prefix, ASCII count and style are set
        COMPLETE = 4,  // the whole text is in the prefix
        NO_LOOK = 8,   // no font or colour of its own: equal texts leave only the style
    };

    KEY& Fetch(ULONG n, int nKey);
    CExtGridCell* CellAt(ULONG n, int nKey, bool bMake);
    // True when the table has keys for position n.
    bool Holds(ULONG n) const { return !m_arrKeys.empty() && n >= m_nFirst && n <= m_nLast; }
    void Fill(KEY& key, CExtGridCell* pCell);
    void GatherFirstKey();
    int CompareKeys(const KEY& a, const KEY& b);

    CExtGridDataProviderMemory& m_provider;
    const CExtGridDataSortOrder& m_order;
    const bool m_bColumns;
    const ULONG m_nFirst, m_nLast;
    const int m_nKeys;
    std::vector<KEY> m_arrKeys;
};
