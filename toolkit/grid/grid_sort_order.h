// The sort order a grid hands to its data provider: which columns (when rows are
// sorted) or which rows (when columns are sorted) take part, primary key first, each
// ascending or descending. The provider keeps one per axis and renumbers the keys as
// columns and rows are inserted, removed, swapped and moved.
#pragma once
#include "framework/framework.h"

class CExtGridDataSortOrder : public CObject
{
    DECLARE_SERIAL(CExtGridDataSortOrder)
public:
    // One sort key. The index counts inner cells only (outer header cells are not
    // numbered); a key made for loading starts as index -1, ascending.
    struct ITEM_INFO
    {
        LONG m_nRowColNo;
        bool m_bAscending : 1;

        ITEM_INFO(LONG nRowColNo = -1, bool bAscending = true)
            : m_nRowColNo(nRowColNo), m_bAscending(bAscending) {}

        bool operator==(const ITEM_INFO& other) const {
            return m_nRowColNo == other.m_nRowColNo && m_bAscending == other.m_bAscending;
        }
        bool operator!=(const ITEM_INFO& other) const { return !(*this == other); }

        // Four bytes of index, then one byte: 1 ascending, 0 descending.
        void Serialize(CArchive& ar);
    };

    CExtGridDataSortOrder();
    CExtGridDataSortOrder(const CExtGridDataSortOrder& other);
    CExtGridDataSortOrder& operator=(const CExtGridDataSortOrder& other);
    virtual ~CExtGridDataSortOrder();

    bool operator==(const CExtGridDataSortOrder& other) const;
    bool operator!=(const CExtGridDataSortOrder& other) const { return !(*this == other); }

    // The count as a DWORD, then each key; loading replaces every key.
    virtual void Serialize(CArchive& ar);

    bool IsEmpty() const { return m_arrItems.GetSize() == 0; }
    void Empty();

    // Position of the first key on that index, -1 when no key names it.
    INT_PTR FindIndex(LONG nRowColNo) const;

    // False when two keys name the same index in the same direction; the same index
    // once ascending and once descending passes.
    bool HasNoDuplicates() const;

    // An empty order becomes a copy of the other. Otherwise each key of the other that
    // names an index already here toggles that key's direction (bInvert) or takes the
    // other's; a key on a new index is appended.
    void MergeFrom(const CExtGridDataSortOrder& other, bool bInvert);
    // Renumbers after nCount items were inserted at (or removed from) nFirst on the
    // sorted axis; keys on removed items go.
    void AdjustForInsertRemove(LONG nFirst, LONG nCount, bool bInsert);

    // Renumbers after the item at nFrom moved to just before nTo.
    void AdjustForMove(LONG nFrom, LONG nTo);

    // Renumbers after items a and b changed places: keys follow their items.
    void AdjustForSwap(LONG nRowColNoA, LONG nRowColNoB);

    CArray<ITEM_INFO, ITEM_INFO&> m_arrItems;
};
