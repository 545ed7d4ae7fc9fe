// The report sort order: (column, direction) entries, the first group-count of them the
// group-by columns. Writing an entry also writes its direction into the column.
#include "toolkit/reportgrid/report_grid_data.h"
#include "toolkit/reportgrid/report_grid_wnd.h"

IMPLEMENT_DYNCREATE(CExtReportGridSortOrder, CObject)

CExtReportGridSortOrder::CExtReportGridSortOrder() : m_nGroupCount(0) {}

CExtReportGridSortOrder::CExtReportGridSortOrder(const CExtReportGridSortOrder& other) : CObject(), m_nGroupCount(0)
{
    Assign(other);
}

CExtReportGridSortOrder::~CExtReportGridSortOrder() {}

CExtReportGridSortOrder& CExtReportGridSortOrder::operator=(const CExtReportGridSortOrder& other)
{
    Assign(other);
    return *this;
}

void CExtReportGridSortOrder::Assign(const CExtReportGridSortOrder& other)
{
    if (&other == this)
        return;
    m_arrColumns.Copy(other.m_arrColumns);
    m_arrAscending.Copy(other.m_arrAscending);
    m_nGroupCount = other.m_nGroupCount;
}

bool CExtReportGridSortOrder::IsEqual(const CExtReportGridSortOrder& other) const
{
    const int nCount = GetCount();
    if (nCount != other.GetCount())
        return false;
    if (nCount == 0)
        return true;
    if (m_nGroupCount != other.m_nGroupCount)
        return false;
    for (int i = 0; i < nCount; i++)
        if (m_arrColumns[i] != other.m_arrColumns[i] || m_arrAscending[i] != other.m_arrAscending[i])
            return false;
    return true;
}

void CExtReportGridSortOrder::Empty()
{
    m_arrColumns.RemoveAll();
    m_arrAscending.RemoveAll();
    m_nGroupCount = 0;
}

bool CExtReportGridSortOrder::IsEmpty() const { return GetCount() == 0; }
int CExtReportGridSortOrder::GetCount() const { return (int)m_arrColumns.GetSize(); }
int CExtReportGridSortOrder::GetGroupCount() const { return m_nGroupCount; }

bool CExtReportGridSortOrder::SetGroupCount(int nGroupCount)
{
    if (nGroupCount < 0 || nGroupCount > GetCount())
        return false;
    m_nGroupCount = nGroupCount;
    return true;
}

CExtReportGridColumn* CExtReportGridSortOrder::ItemGet(int nIndex, bool* pbAscending) const
{
    if (nIndex < 0 || nIndex >= GetCount())
        return NULL;
    if (pbAscending != NULL)
        *pbAscending = m_arrAscending[nIndex];
    return m_arrColumns[nIndex];
}

bool CExtReportGridSortOrder::ItemSet(CExtReportGridColumn* pColumn, int nIndex, bool bAscending)
{
    if (pColumn == NULL || nIndex < 0 || nIndex >= GetCount())
        return false;
    const int nAt = IndexOf(pColumn);
    if (nAt >= 0 && nAt != nIndex)
        return false;
    m_arrColumns[nIndex] = pColumn;
    m_arrAscending[nIndex] = bAscending;
    pColumn->SortAscendingSet(bAscending);
    return true;
}

bool CExtReportGridSortOrder::ItemInsert(CExtReportGridColumn* pColumn, int nIndex, bool bAscending)
{
    if (pColumn == NULL || IndexOf(pColumn) >= 0)
        return false;
    if (nIndex < 0 || nIndex > GetCount())
        nIndex = GetCount();
    m_arrColumns.InsertAt(nIndex, pColumn);
    m_arrAscending.InsertAt(nIndex, bAscending);
    pColumn->SortAscendingSet(bAscending);
    return true;
}

bool CExtReportGridSortOrder::ItemRemove(int nIndex, int nCount)
{
    if (nCount == 0)
        return true;
    const int nSize = GetCount();
    if (nIndex < 0 || nCount < 0 || nIndex >= nSize || nCount > nSize - nIndex)
        return false;
    m_arrColumns.RemoveAt(nIndex, nCount);
    m_arrAscending.RemoveAt(nIndex, nCount);
    return true;
}

bool CExtReportGridSortOrder::ItemRemove(const CExtReportGridColumn* pColumn, int nCount)
{
    const int nIndex = IndexOf(pColumn);
    return nIndex >= 0 && ItemRemove(nIndex, nCount);
}

int CExtReportGridSortOrder::IndexOf(const CExtReportGridColumn* pColumn) const
{
    if (pColumn == NULL)
        return -1;
    for (int i = 0; i < GetCount(); i++)
        if (m_arrColumns[i] == pColumn)
            return i;
    return -1;
}

bool CExtReportGridSortOrder::IsValid(const CExtReportGridWnd* pWndReport, bool bNoDuplicates, bool bFurther) const
{
    (void)bFurther;  // no further check is defined; it always passes
    for (int i = 0; i < GetCount(); i++)
    {
        if (m_arrColumns[i] == NULL)
            return false;
        if (pWndReport != NULL && m_arrColumns[i]->GetReportGrid() != pWndReport)
            return false;
        if (bNoDuplicates)
            for (int j = 0; j < i; j++)
                if (m_arrColumns[j] == m_arrColumns[i])
                    return false;
    }
    return true;
}
