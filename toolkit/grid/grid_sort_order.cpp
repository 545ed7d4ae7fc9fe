#include "toolkit/grid/grid_sort_order.h"
#include <set>
#include <utility>

IMPLEMENT_SERIAL(CExtGridDataSortOrder, CObject, 1)

void CExtGridDataSortOrder::ITEM_INFO::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar << (LONG)m_nRowColNo;
        ar << (BYTE)(m_bAscending ? 1 : 0);
    } else {
        LONG nRowColNo = -1;
        BYTE nFlags = 0;
        ar >> nRowColNo;
        ar >> nFlags;
        m_nRowColNo = nRowColNo;
        m_bAscending = (nFlags & 1) != 0;
    }
}

CExtGridDataSortOrder::CExtGridDataSortOrder() {}

CExtGridDataSortOrder::CExtGridDataSortOrder(const CExtGridDataSortOrder& other)
    : CObject()
{
    *this = other;
}

CExtGridDataSortOrder& CExtGridDataSortOrder::operator=(const CExtGridDataSortOrder& other)
{
    if (this == &other)
        return *this;
    Empty();
    for (INT_PTR i = 0; i < other.m_arrItems.GetSize(); i++) {
        ITEM_INFO item = other.m_arrItems[i];
        m_arrItems.Add(item);
    }
    return *this;
}

CExtGridDataSortOrder::~CExtGridDataSortOrder() { Empty(); }

bool CExtGridDataSortOrder::operator==(const CExtGridDataSortOrder& other) const
{
    INT_PTR nCount = m_arrItems.GetSize();
    if (nCount != other.m_arrItems.GetSize())
        return false;
    for (INT_PTR i = 0; i < nCount; i++) {
        if (m_arrItems[i] != other.m_arrItems[i])
            return false;
    }
    return true;
}

void CExtGridDataSortOrder::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar << (DWORD)m_arrItems.GetSize();
        for (INT_PTR i = 0; i < m_arrItems.GetSize(); i++)
            m_arrItems[i].Serialize(ar);
        return;
    }
    Empty();
    DWORD dwCount = 0;
    ar >> dwCount;
    // The count comes from the stream: keys are appended one by one as they are read,
    // so a damaged count runs into the end of the data instead of a huge allocation,
    // and the keys read before that stay.
    for (DWORD i = 0; i < dwCount; i++) {
        ITEM_INFO item;
        item.Serialize(ar);
        m_arrItems.Add(item);
    }
}

void CExtGridDataSortOrder::Empty() { m_arrItems.RemoveAll(); }

INT_PTR CExtGridDataSortOrder::FindIndex(LONG nRowColNo) const
{
    for (INT_PTR i = 0; i < m_arrItems.GetSize(); i++) {
        if (m_arrItems[i].m_nRowColNo == nRowColNo)
            return i;
    }
    return -1;
}

// A set rather than a pairwise scan: an order read from a file may be long.
bool CExtGridDataSortOrder::HasNoDuplicates() const
{
    std::set<std::pair<LONG, bool>> setSeen;
    for (INT_PTR i = 0; i < m_arrItems.GetSize(); i++) {
        const ITEM_INFO& item = m_arrItems[i];
        if (!setSeen.insert(std::make_pair(item.m_nRowColNo, (bool)item.m_bAscending)).second)
            return false;
    }
    return true;
}

void CExtGridDataSortOrder::MergeFrom(const CExtGridDataSortOrder& other, bool bInvert)
{
    if (IsEmpty()) {
        *this = other;
        return;
    }
    for (INT_PTR i = 0; i < other.m_arrItems.GetSize(); i++) {
        ITEM_INFO itemOther = other.m_arrItems[i];
        INT_PTR nPos = FindIndex(itemOther.m_nRowColNo);
        if (nPos < 0) {
            m_arrItems.Add(itemOther);
            continue;
        }
        ITEM_INFO& item = m_arrItems[nPos];
        item.m_bAscending = bInvert ? !item.m_bAscending : (bool)itemOther.m_bAscending;
    }
}

void CExtGridDataSortOrder::AdjustForInsertRemove(LONG nFirst, LONG nCount, bool bInsert)
{
    if (nCount <= 0)
        return;
    for (INT_PTR i = m_arrItems.GetSize() - 1; i >= 0; i--) {
        ITEM_INFO& item = m_arrItems[i];
        if (item.m_nRowColNo < nFirst)
            continue;
        if (bInsert) {
            item.m_nRowColNo += nCount;
        } else if ((LONGLONG)item.m_nRowColNo - nFirst < nCount) {
            m_arrItems.RemoveAt(i);
        } else {
            item.m_nRowColNo -= nCount;
        }
    }
}

void CExtGridDataSortOrder::AdjustForMove(LONG nFrom, LONG nTo)
{
    if (nFrom == nTo || nFrom + 1 == nTo)
        return;
    for (INT_PTR i = 0; i < m_arrItems.GetSize(); i++) {
        LONG& nIndex = m_arrItems[i].m_nRowColNo;
        if (nIndex == nFrom) {
            nIndex = (nFrom < nTo) ? nTo - 1 : nTo;
        } else if (nFrom > nTo) {
            if (nIndex >= nTo && nIndex < nFrom)
                nIndex++;
        } else {
            if (nIndex > nFrom && nIndex < nTo)
                nIndex--;
        }
    }
}

void CExtGridDataSortOrder::AdjustForSwap(LONG nRowColNoA, LONG nRowColNoB)
{
    if (nRowColNoA == nRowColNoB)
        return;
    for (INT_PTR i = 0; i < m_arrItems.GetSize(); i++) {
        LONG& nIndex = m_arrItems[i].m_nRowColNo;
        if (nIndex == nRowColNoA)
            nIndex = nRowColNoB;
        else if (nIndex == nRowColNoB)
            nIndex = nRowColNoA;
    }
}
