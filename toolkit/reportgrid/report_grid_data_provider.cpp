// The report data provider: columns split into inactive (reserved flat columns after the
// node column) and active (the columns the grid shows), the report sort order, and the
// rebuild that ungroups, sorts and regroups the rows.
//
// The rebuild never inserts or removes single rows in the middle of the flat store
// (each would move every row below it): group rows are gathered at the end and removed
// at once, new group rows are made at the end at once, and the final order is reached by
// swapping rows into place, so one rebuild costs the sort plus a few linear passes.
#include "toolkit/reportgrid/report_grid_data.h"
#include "toolkit/grid/grid_prefetch.h"
#include "toolkit/reportgrid/report_grid_wnd.h"
#include <algorithm>
#include <vector>

IMPLEMENT_DYNCREATE(CExtReportGridDataProvider, CExtTreeGridDataProvider)

CExtReportGridDataProvider::CExtReportGridDataProvider()
{
    m_nNodeColumnCount = m_nReservedColCount;
    m_nHeaderRowCount = m_nReservedRowCount;
    m_pNodeRTC = RUNTIME_CLASS(CExtReportGridItem);
    m_DP.CellKeeperSet(&m_keeper);
}

CExtReportGridDataProvider::~CExtReportGridDataProvider() { m_DP.CellKeeperSet(NULL); }

bool CExtReportGridDataProvider::CRegisteredColumnKeeper::IsCellKept(const CExtGridCell* pCell)
{
    const CExtReportGridColumn* pColumn = DYNAMIC_DOWNCAST(CExtReportGridColumn, const_cast<CExtGridCell*>(pCell));
    return pColumn != NULL && pColumn->GetReportGrid() != NULL;
}

CExtReportGridSortOrder& CExtReportGridDataProvider::ReportSortOrderGet() { return m_rgso; }

bool CExtReportGridDataProvider::ReportSortOrderSet(const CExtReportGridSortOrder& order, bool bRebuild,
                                                    CExtReportGridWnd* pWndReport)
{
    if (&order == &m_rgso)
        return true;
    if (!ReportSortOrderCheck(order, pWndReport))
        return false;
    if (order.IsEqual(m_rgso))
        return true;
    m_rgso.Assign(order);
    return bRebuild ? RebuildRows(NULL) : true;
}

bool CExtReportGridDataProvider::ReportSortOrderCheck(const CExtReportGridSortOrder& order,
                                                      CExtReportGridWnd* pWndReport)
{
    const int nGroups = order.GetGroupCount();
    for (int i = 0; i < order.GetCount(); i++)
    {
        CExtReportGridColumn* pColumn = order.ItemGet(i);
        if (pColumn == NULL)
            return false;
        if (i < nGroups && !pColumn->GroupingEnabledGet())
        {
            if (pWndReport != NULL)
                pWndReport->OnCannotGroupOrSort(order, i, true);
            return false;
        }
        if (!pColumn->SortingEnabledGet())
        {
            if (pWndReport != NULL)
                pWndReport->OnCannotGroupOrSort(order, i, false);
            return false;
        }
        const int nFound = pColumn->IsActive() ? ActiveColumnIndexOf(pColumn) : InactiveColumnIndexOf(pColumn);
        if (nFound < 0)
            return false;
    }
    return true;
}

// ---- columns -------------------------------------------------------------------------

ULONG CExtReportGridDataProvider::HeaderFlatRow() const { return m_nReservedRowCount; }

bool CExtReportGridDataProvider::HeaderHoldsRegisteredColumn()
{
    GetFlatProvider();
    return GridOuterRows() > 0 && m_DP.CellRangeHoldsKept(0, HeaderFlatRow(), m_DP.ColumnCountGet(), 1);
}

bool CExtReportGridDataProvider::RowInsert(ULONG nRowNo, ULONG nInsertCount)
{
    if (nRowNo == 0 && nInsertCount > 0 && HeaderHoldsRegisteredColumn())
        return false;
    return CExtTreeGridDataProvider::RowInsert(nRowNo, nInsertCount);
}

bool CExtReportGridDataProvider::OuterCellsReserve(ULONG nReservedColCount, ULONG nReservedRowCount)
{
    if (nReservedRowCount == 0 && HeaderHoldsRegisteredColumn())
        return false;
    return CExtTreeGridDataProvider::OuterCellsReserve(nReservedColCount, nReservedRowCount);
}

void CExtReportGridDataProvider::ActiveFlagsFollow(ULONG nFlatFirst, ULONG nCount, bool bActive)
{
    for (ULONG i = 0; i < nCount; i++)
        if (CExtReportGridColumn* pColumn = DYNAMIC_DOWNCAST(
                CExtReportGridColumn, m_DP.CellGet(nFlatFirst + i, HeaderFlatRow(), NULL, false, false)))
            pColumn->m_nFlags = BYTE(bActive ? pColumn->m_nFlags | CExtReportGridColumn::__ERGCF_ACTIVE
                                             : pColumn->m_nFlags & ~CExtReportGridColumn::__ERGCF_ACTIVE);
}

bool CExtReportGridDataProvider::ColumnsMoveToOuter(ULONG nColNo, ULONG nCount, ULONG nOuterPos)
{
    if (!CExtTreeGridDataProvider::ColumnsMoveToOuter(nColNo, nCount, nOuterPos))
        return false;
    ActiveFlagsFollow(nOuterPos, nCount, false);
    return true;
}

bool CExtReportGridDataProvider::ColumnsMoveToInner(ULONG nOuterPos, ULONG nCount, ULONG nColNo)
{
    if (!CExtTreeGridDataProvider::ColumnsMoveToInner(nOuterPos, nCount, nColNo))
        return false;
    ULONG nOuterCols = 0;
    m_DP.OuterCellsReservedGet(&nOuterCols, NULL);
    ActiveFlagsFollow(nOuterCols + nColNo, nCount, true);
    return true;
}

int CExtReportGridDataProvider::InactiveColumnCountGet()
{
    GetFlatProvider();
    return (int)(m_nReservedColCount - m_nNodeColumnCount);
}

int CExtReportGridDataProvider::ActiveColumnCountGet() { return (int)ColumnCountGet(); }

bool CExtReportGridDataProvider::ColumnActivate(int nInactiveIndex, int nPos)
{
    const int nActive = ActiveColumnCountGet(), nInactive = InactiveColumnCountGet();
    if (nPos < 0)
        nPos = nActive;
    if (nPos > nActive || nInactiveIndex < 0 || nInactiveIndex >= nInactive)
        return false;
    return ColumnsMoveToInner(m_nNodeColumnCount + (ULONG)nInactiveIndex, 1, (ULONG)nPos);
}

bool CExtReportGridDataProvider::ColumnDeactivate(int nActiveIndex, int nPos)
{
    const int nActive = ActiveColumnCountGet(), nInactive = InactiveColumnCountGet();
    if (nActiveIndex < 0 || nActiveIndex >= nActive)
        return false;
    if (nPos < 0)
        nPos = nInactive;
    if (nPos > nInactive)
        return false;
    return ColumnsMoveToOuter((ULONG)nActiveIndex, 1, m_nNodeColumnCount + (ULONG)nPos);
}

CExtReportGridColumn* CExtReportGridDataProvider::ActiveColumnGet(int nIndex)
{
    if (nIndex < 0 || nIndex >= ActiveColumnCountGet())
        return NULL;
    ULONG nOuterCols = 0;
    m_DP.OuterCellsReservedGet(&nOuterCols, NULL);
    return DYNAMIC_DOWNCAST(CExtReportGridColumn,
                            m_DP.CellGet(nOuterCols + (ULONG)nIndex, HeaderFlatRow(), NULL, false, false));
}

CExtReportGridColumn* CExtReportGridDataProvider::InactiveColumnGet(int nIndex)
{
    if (nIndex < 0 || nIndex >= InactiveColumnCountGet())
        return NULL;
    return DYNAMIC_DOWNCAST(CExtReportGridColumn,
                            m_DP.CellGet(m_nNodeColumnCount + (ULONG)nIndex, HeaderFlatRow(), NULL, false, false));
}

int CExtReportGridDataProvider::ActiveColumnIndexOf(const CExtReportGridColumn* pColumn)
{
    if (pColumn == NULL)
        return -1;
    for (int i = 0, n = ActiveColumnCountGet(); i < n; i++)
        if (ActiveColumnGet(i) == pColumn)
            return i;
    return -1;
}

int CExtReportGridDataProvider::InactiveColumnIndexOf(const CExtReportGridColumn* pColumn)
{
    if (pColumn == NULL)
        return -1;
    for (int i = 0, n = InactiveColumnCountGet(); i < n; i++)
        if (InactiveColumnGet(i) == pColumn)
            return i;
    return -1;
}

LONG CExtReportGridDataProvider::FlatColumnOf(const CExtReportGridColumn* pColumn)
{
    if (pColumn == NULL)
        return -1;
    if (pColumn->IsActive())
    {
        const int nIndex = ActiveColumnIndexOf(pColumn);
        ULONG nOuterCols = 0;
        m_DP.OuterCellsReservedGet(&nOuterCols, NULL);
        return nIndex < 0 ? -1 : (LONG)(nOuterCols + (ULONG)nIndex);
    }
    const int nIndex = InactiveColumnIndexOf(pColumn);
    return nIndex < 0 ? -1 : (LONG)(m_nNodeColumnCount + (ULONG)nIndex);
}

CExtGridCell* CExtReportGridDataProvider::ItemCellGet(const CExtReportGridColumn* pColumn, CExtReportGridItem* pItem,
                                                      CRuntimeClass* pInitRTC)
{
    if (pColumn == NULL || pItem == NULL || pItem->TreeNodeGetParent() == NULL)
        return NULL;
    const LONG nFlatCol = FlatColumnOf(pColumn);
    if (nFlatCol < 0)
        return NULL;
    const ULONG nRow = pItem->TreeNodeCalcOffset(false) + FlatReservedRows();
    if (nRow >= m_DP.RowCountGet())
        return NULL;
    return m_DP.CellGet((ULONG)nFlatCol, nRow, pInitRTC, false, false);
}

bool CExtReportGridDataProvider::SortOrderGet(CExtGridDataSortOrder& _gdso, bool bColumns) const
{
    if (!bColumns)
        return false;
    _gdso.Empty();
    return true;
}

bool CExtReportGridDataProvider::MoveColumnOrRow(bool bColumns, ULONG nFrom, ULONG nTo, IDataProviderEvents* pDPE)
{
    // Shown columns only: shifted past the reserved ones, a place beyond them would wrap
    // round onto the node column or a hidden one.
    const ULONG nActive = (ULONG)ActiveColumnCountGet();
    if (!bColumns || nFrom >= nActive || nTo > nActive)
        return false;
    ULONG nOuterCols = 0;
    m_DP.OuterCellsReservedGet(&nOuterCols, NULL);
    return m_DP.MoveColumnOrRow(true, nFrom + nOuterCols, nTo + nOuterCols, pDPE);
}

// ---- rebuild ---------------------------------------------------------------------------

void CExtReportGridDataProvider::RebuildSortArrows()
{
    const int nCount = m_rgso.GetCount();
    const int nActive = ActiveColumnCountGet(), nInactive = InactiveColumnCountGet();
    for (int i = 0; i < nActive + nInactive; i++)
    {
        CExtReportGridColumn* pColumn = i < nActive ? ActiveColumnGet(i) : InactiveColumnGet(i - nActive);
        if (pColumn == NULL)
            continue;
        bool bAscending = true;
        const int nAt = m_rgso.IndexOf(pColumn);
        if (nCount > 0 && nAt >= 0)
        {
            m_rgso.ItemGet(nAt, &bAscending);
            pColumn->ModifyStyle(bAscending ? 0x100000 : 0x300000, bAscending ? 0x200000 : 0);
        }
        else
            pColumn->ModifyStyle(0, 0x100000);
    }
}

void CExtReportGridDataProvider::RebuildUngroup(bool bTables)
{
    const ULONG r0 = FlatReservedRows();
    const ULONG n = m_DP.RowCountGet();
    // Data rows move up in their order; group rows collect at the end and go at once.
    ULONG w = r0, nSwaps = 0;
    for (ULONG r = r0; r < n; r++)
    {
        PrefetchNode(r + GRID_PREFETCH_AHEAD);
        CExtTreeGridCellNode* pNode = DYNAMIC_DOWNCAST(CExtTreeGridCellNode, m_DP.CellGet(0, r, NULL, false, false));
        if (pNode != NULL && pNode->m_arrChildren.GetSize() > 0)
            continue;
        if (r != w)
            m_DP.SwapSeries(w, r, nSwaps, NULL, false);
        w++;
    }
    m_arrGridRef.RemoveAll();
    m_arrGridVis.RemoveAll();
    // One block for all the rows: the arrays otherwise grow 1,024 items at a time, which
    // copies them over and over when a hundred thousand rows come back.
    m_pCellRoot->m_arrChildren.SetSize(0, w > r0 ? (INT_PTR)(w - r0) : 0);
    if (w < n)
        m_DP.RowRemove(w, n - w);
    for (ULONG r = r0; r < w; r++)
    {
        PrefetchNode(r + GRID_PREFETCH_AHEAD);
        CExtTreeGridCellNode* pNode = DYNAMIC_DOWNCAST(CExtTreeGridCellNode, m_DP.CellGet(0, r, NULL, false, false));
        if (pNode == NULL)
            continue;  // a row without a node cannot be shown; it stays out of the tree
        pNode->m_arrChildren.RemoveAll();
        pNode->m_pNodeParent = m_pCellRoot;
        m_pCellRoot->m_arrChildren.Add(pNode);
    }
    if (bTables)
        RebuildTables();
}

void CExtReportGridDataProvider::PrefetchNode(ULONG r)
{
    GridPrefetchBytes(m_DP.CellGet(0, r, NULL, false, false), sizeof(CExtTreeGridCellNode));
}

bool CExtReportGridDataProvider::RebuildSort(const CExtGridDataSortOrder& keys)
{
    ULONG nCols = 0, nRows = 0;
    m_DP.OuterCellsReservedGet(&nCols, &nRows);
    // The keys address flat columns directly while the sort runs.
    m_DP.OuterCellsReserve(0, nRows);
    const bool bSorted = m_DP.SortOrderSet(keys, false, NULL);
    m_DP.SortOrderSet(CExtGridDataSortOrder(), false, NULL);
    m_DP.OuterCellsReserve(nCols, nRows);
    return bSorted;
}

bool CExtReportGridDataProvider::RebuildRegroup(const CArray<ULONG, ULONG>& arrGroupColumns,
                                                CExtReportGridWnd* pWndReport)
{
    const int g = (int)arrGroupColumns.GetSize();
    const ULONG r0 = FlatReservedRows();
    const ULONG n = m_DP.RowCountGet();
    if (n <= r0)
        return true;
    // Pass 1: how many leading levels each data row shares with the one before it.
    std::vector<int> arrShared(n - r0, 0);
    std::vector<CExtGridCell*> arrKeys((size_t)g, NULL);
    ULONG nGroupRows = 0;
    for (ULONG r = r0; r < n; r++)
    {
        if (g > 0 && n - r > GRID_PREFETCH_AHEAD)
        {
            GridPrefetch(m_DP.CellGet(arrGroupColumns[0], r + GRID_PREFETCH_AHEAD, NULL, false, false));
            GridPrefetchText(m_DP.CellGet(arrGroupColumns[0], r + GRID_PREFETCH_AHEAD / 2, NULL, false, false));
        }
        int m = 0;
        if (r > r0)
            while (m < g)
            {
                CExtGridCell* pCell = m_DP.CellGet(arrGroupColumns[m], r, RUNTIME_CLASS(CExtGridCell), false, false);
                if (pCell == NULL || arrKeys[m] == NULL || arrKeys[m]->Compare(*pCell, 0xB0000, 0) != 0)
                    break;
                m++;
            }
        for (int i = m; i < g; i++)
            arrKeys[i] = m_DP.CellGet(arrGroupColumns[i], r, RUNTIME_CLASS(CExtGridCell), false, false);
        arrShared[r - r0] = m;
        nGroupRows += (ULONG)(g - m);
    }
    if (nGroupRows == 0)
        return true;
    if (nGroupRows > 0x7FFFFFFF - n || !m_DP.RowInsert(n, nGroupRows))
        return false;
    // Pass 2: make the group nodes at the end and write the final order and the tree.
    const ULONG nTotal = n - r0 + nGroupRows;
    std::vector<ULONG> arrSource;
    arrSource.reserve(nTotal);
    std::vector<CExtTreeGridCellNode*> arrChain((size_t)g, NULL);
    // Each child array is made in one block of its final size (grown 1,024 items at a
    // time a large group would be copied over and over). A level-i group that starts at
    // row r holds one child per row of its span that starts a new level-(i + 1) entry.
    auto ChildCount = [&](ULONG r, int i) -> INT_PTR
    {
        INT_PTR nChildren = 1;
        for (ULONG q = r + 1; q < n && arrShared[q - r0] > i; q++)
            if (arrShared[q - r0] == i + 1)
                nChildren++;
        return nChildren;
    };
    m_pCellRoot->m_arrChildren.SetSize(0, (INT_PTR)std::count(arrShared.begin(), arrShared.end(), 0));
    ULONG nNext = n;
    for (ULONG r = r0; r < n; r++)
    {
        PrefetchNode(r + GRID_PREFETCH_AHEAD);
        CExtTreeGridCellNode* pData = DYNAMIC_DOWNCAST(CExtTreeGridCellNode, m_DP.CellGet(0, r, NULL, false, false));
        for (int i = arrShared[r - r0]; i < g; i++)
        {
            CExtReportGridItem* pGroup =
                DYNAMIC_DOWNCAST(CExtReportGridItem, m_DP.CellGet(0, nNext, NodeClassGet(), false, false));
            if (pGroup == NULL)
                return false;
            pGroup->m_pReportGrid = pWndReport;
            pGroup->m_arrChildren.SetSize(0, ChildCount(r, i));
            pGroup->TreeNodeSetExpanded(true);
            CExtTreeGridCellNode* pParent = i == 0 ? m_pCellRoot : arrChain[i - 1];
            pGroup->m_pNodeParent = pParent;
            pParent->m_arrChildren.Add(pGroup);
            arrChain[i] = pGroup;
            arrSource.push_back(nNext++);
        }
        if (pData != NULL)
        {
            CExtTreeGridCellNode* pParent = g == 0 ? m_pCellRoot : arrChain[g - 1];
            pData->m_arrChildren.RemoveAll();
            pData->m_pNodeParent = pParent;
            pParent->m_arrChildren.Add(pData);
        }
        arrSource.push_back(r);
    }
    // Pass 3: swap every row into its place (at most one swap per row).
    std::vector<ULONG> arrAt(nTotal), arrHolds(nTotal);  // where a source row is now; what a place holds
    for (ULONG i = 0; i < nTotal; i++)
        arrAt[i] = arrHolds[i] = i;
    ULONG nSwaps = 0;
    for (ULONG p = 0; p < nTotal; p++)
    {
        const ULONG nSrc = arrSource[p] - r0;
        const ULONG q = arrAt[nSrc];
        if (q == p)
            continue;
        if (!m_DP.SwapSeries(r0 + p, r0 + q, nSwaps, NULL, false))
            return false;
        const ULONG nDisplaced = arrHolds[p];
        arrHolds[q] = nDisplaced;
        arrAt[nDisplaced] = q;
        arrHolds[p] = nSrc;
        arrAt[nSrc] = p;
    }
    return true;
}

// bShown: every node from the root down to pNode is expanded, so its children show. One
// walk fills both tables: every node in tree order, and the shown ones in the same order.
ULONG CExtReportGridDataProvider::RebuildCounts(CExtTreeGridCellNode* pNode, bool bShown)
{
    // Depth is bounded by the number of group-by columns.
    CExtTreeGridCellNode::NodeArray& arr = pNode->m_arrChildren;
    ULONG nAll = 0, nShown = 0;
    for (INT_PTR i = 0; i < arr.GetSize(); i++)
    {
        if (arr.GetSize() - i > (INT_PTR)GRID_PREFETCH_AHEAD)
            GridPrefetch(arr[i + GRID_PREFETCH_AHEAD]);
        CExtTreeGridCellNode* pChild = arr[i];
        pChild->m_nOptIndex = (ULONG)i;
        pChild->m_pNodePrev = i > 0 ? arr[i - 1] : NULL;
        pChild->m_pNodeNext = i + 1 < arr.GetSize() ? arr[i + 1] : NULL;
        pChild->m_pNodeParent = pNode;
        m_arrGridRef.Add(pChild);
        if (bShown)
            m_arrGridVis.Add(pChild);
        const bool bExpanded = pChild->TreeNodeIsExpanded();
        nAll += 1 + RebuildCounts(pChild, bShown && bExpanded);
        nShown += 1 + (bExpanded ? pChild->m_nContentWeightExpanded : 0);
    }
    pNode->m_nContentWeightAll = nAll;
    // A collapsed node shows nothing below it, as the tree's own expanding keeps it.
    pNode->m_nContentWeightExpanded = pNode->TreeNodeIsExpanded() ? nShown : 0;
    return nAll;
}

void CExtReportGridDataProvider::RebuildTables()
{
    // Every row of the flat store is one node of the tree.
    const ULONG r0 = FlatReservedRows(), n = m_DP.RowCountGet();
    const INT_PTR nNodes = n > r0 ? (INT_PTR)(n - r0) : 0;
    m_arrGridRef.SetSize(0, nNodes);
    m_arrGridVis.SetSize(0, nNodes);
    m_pCellRoot->TreeNodeSetExpanded(true);
    RebuildCounts(m_pCellRoot, true);
}

bool CExtReportGridDataProvider::RebuildRows(CExtReportGridWnd* pWndReport)
{
    GetFlatProvider();
    if (m_pCellRoot == NULL)
        return false;
    // The rebuild moves, makes and frees node rows in the flat store itself.
    CTreeChange change(*this);
    RebuildSortArrows();
    // With keys to apply the tables are built once, after the rows found their places.
    const int nCount = m_rgso.GetCount();
    RebuildUngroup(nCount == 0);
    if (nCount == 0)
        return true;
    CExtGridDataSortOrder keys;
    CArray<ULONG, ULONG> arrGroupColumns;
    const int nGroups = m_rgso.GetGroupCount();
    for (int i = 0; i < nCount; i++)
    {
        bool bAscending = true;
        const LONG nFlat = FlatColumnOf(m_rgso.ItemGet(i, &bAscending));
        if (nFlat < 0)
        {
            RebuildTables();
            return false;
        }
        CExtGridDataSortOrder::ITEM_INFO key(nFlat, bAscending);
        keys.m_arrItems.Add(key);
        if (i < nGroups)
            arrGroupColumns.Add((ULONG)nFlat);
    }
    RebuildSort(keys);
    const bool bGrouped = RebuildRegroup(arrGroupColumns, pWndReport);
    if (!bGrouped)
    {
        // No half-built tree: the rows stay flat in their sorted order.
        RebuildUngroup();
        return false;
    }
    if (arrGroupColumns.GetSize() == 0)
    {
        // Relink the sorted data rows under the root in their new row order.
        const ULONG r0 = FlatReservedRows(), n = m_DP.RowCountGet();
        m_pCellRoot->m_arrChildren.SetSize(0, n > r0 ? (INT_PTR)(n - r0) : 0);
        for (ULONG r = r0; r < n; r++)
        {
            CExtTreeGridCellNode* pNode =
                DYNAMIC_DOWNCAST(CExtTreeGridCellNode, m_DP.CellGet(0, r, NULL, false, false));
            if (pNode != NULL)
                m_pCellRoot->m_arrChildren.Add(pNode);
        }
    }
    RebuildTables();
    return true;
}
