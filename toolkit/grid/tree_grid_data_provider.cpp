// The tree grid's provider: the node arrays, the counts kept in the nodes, row and column
// translation to the flat provider, and the provider interface forwarded to it.
#include "toolkit/grid/tree_grid_data_provider.h"
#include "toolkit/grid/grid_prefetch.h"
#include <algorithm>

IMPLEMENT_DYNAMIC(CExtTreeGridDataProvider, CExtGridDataProvider)

CExtTreeGridDataProvider::CExtTreeGridDataProvider()
    : m_DP(*this),
      m_pCellRoot(NULL),
      m_nReservedColCount(1),
      m_nReservedRowCount(1),
      m_pNodeRTC(RUNTIME_CLASS(CExtTreeGridCellNode)),
      m_nIndentPxDefault(19),
      m_nTreeChanges(0),
      m_nGridColsAsked(0),
      m_nGridRowsAsked(0)
{
}

CExtTreeGridDataProvider::~CExtTreeGridDataProvider()
{
    // The flat provider destroys every cell, the nodes among them.
    m_arrGridRef.RemoveAll();
    m_arrGridVis.RemoveAll();
    m_pCellRoot = NULL;
}

// ---- the flat provider and translation ---------------------------------------------------

CExtGridDataProviderMemory& CExtTreeGridDataProvider::GetFlatProvider()
{
    if (m_pCellRoot != NULL)
        return m_DP;
    ULONG nCols = 0, nRows = 0;
    m_DP.OuterCellsReservedGet(&nCols, &nRows);
    if (m_DP.ColumnCountGet() < m_nReservedColCount)
        m_DP.ColumnInsert(0, m_nReservedColCount - m_DP.ColumnCountGet());
    if (m_DP.RowCountGet() < m_nReservedRowCount)
        m_DP.RowInsert(0, m_nReservedRowCount - m_DP.RowCountGet());
    m_DP.OuterCellsReserve(nCols + m_nReservedColCount, nRows + m_nReservedRowCount);
    m_nGridColsAsked = nCols;
    m_nGridRowsAsked = nRows;
    CExtGridCell* pCell = m_DP.CellGet(0, 0, NodeClassGet(), false, false);
    m_pCellRoot = DYNAMIC_DOWNCAST(CExtTreeGridCellNode, pCell);
    if (m_pCellRoot != NULL)
    {
        m_pCellRoot->TreeNodeSetExpanded(true);
        OnNodeCreated(m_pCellRoot);
    }
    return m_DP;
}

CRuntimeClass* CExtTreeGridDataProvider::NodeClassGet() { return m_pNodeRTC; }

void CExtTreeGridDataProvider::OnNodeCreated(CExtTreeGridCellNode*)
{
    // A hook for derived providers that give new nodes their first values.
}

CExtTreeGridCellNode* CExtTreeGridDataProvider::TreeNodeGetRoot()
{
    GetFlatProvider();
    return m_pCellRoot;
}

ULONG CExtTreeGridDataProvider::FlatReservedRows() const
{
    ULONG nRows = 0;
    m_DP.OuterCellsReservedGet(NULL, &nRows);
    return nRows;
}

ULONG CExtTreeGridDataProvider::GridOuterRows() const
{
    const ULONG nRows = FlatReservedRows();
    return nRows > m_nReservedRowCount ? nRows - m_nReservedRowCount : 0;
}

ULONG CExtTreeGridDataProvider::GridOuterColumns() const
{
    ULONG nCols = 0;
    m_DP.OuterCellsReservedGet(&nCols, NULL);
    return nCols > m_nReservedColCount ? nCols - m_nReservedColCount : 0;
}

void CExtTreeGridDataProvider::FlatReservationShift(LONG nCols, LONG nRows)
{
    ULONG nFlatCols = 0, nFlatRows = 0;
    m_DP.OuterCellsReservedGet(&nFlatCols, &nFlatRows);
    CTreeChange change(*this);
    m_DP.OuterCellsReserve(nFlatCols + (ULONG)nCols, nFlatRows + (ULONG)nRows);
}

ULONG CExtTreeGridDataProvider::FlatColumnGet(ULONG nColNo) { return nColNo + m_nReservedColCount; }

ULONG CExtTreeGridDataProvider::FlatRowGet(ULONG nRowNo)
{
    GetFlatProvider();
    const ULONG nGridRows = GridOuterRows();
    if (nRowNo < nGridRows)
        return m_nReservedRowCount + nRowNo;
    const ULONG nVisible = nRowNo - nGridRows;
    if (nVisible >= (ULONG)m_arrGridVis.GetSize())
        AfxThrowInvalidArgException();
    return m_arrGridVis[nVisible]->TreeNodeCalcOffset(false) + FlatReservedRows();
}

ULONG CExtTreeGridDataProvider::VisibleRowCountGet() { return (ULONG)m_arrGridVis.GetSize(); }

CExtTreeGridCellNode* CExtTreeGridDataProvider::TreeNodeGetByRow(ULONG nRowNo)
{
    return nRowNo < (ULONG)m_arrGridVis.GetSize() ? m_arrGridVis[nRowNo] : NULL;
}

LONG CExtTreeGridDataProvider::TreeNodeGetRow(CExtTreeGridCellNode* pNode)
{
    if (pNode == NULL || pNode == m_pCellRoot || !pNode->TreeNodeIsDisplayed())
        return -1;
    const ULONG nRow = pNode->TreeNodeCalcOffset(true);
    return nRow < (ULONG)m_arrGridVis.GetSize() && m_arrGridVis[nRow] == pNode ? (LONG)nRow : -1;
}

INT CExtTreeGridDataProvider::RowIndentGet(ULONG nRowNo)
{
    INT nIndent = 0;
    for (CExtTreeGridCellNode* p = TreeNodeGetByRow(nRowNo); p != NULL && p != m_pCellRoot; p = p->TreeNodeGetParent())
    {
        const INT n = p->TreeNodeIndentPxGet();
        nIndent += n < 0 ? m_nIndentPxDefault : n;
    }
    return nIndent;
}

CExtGridCell* CExtTreeGridDataProvider::TreeNodeCellGet(CExtTreeGridCellNode* pNode, ULONG nColNo,
                                                        CRuntimeClass* pInitRTC, bool bAutoFindValue,
                                                        bool bUseColumnDefaultValue)
{
    GetFlatProvider();
    if (pNode == NULL || pNode == m_pCellRoot || pNode->TreeNodeGetParent() == NULL)
        return NULL;
    const ULONG nFlatCol = FlatColumnGet(nColNo);
    if (nFlatCol >= m_DP.ColumnCountGet())
        return NULL;
    return m_DP.CellGet(nFlatCol, pNode->TreeNodeCalcOffset(false) + FlatReservedRows(), pInitRTC, bAutoFindValue,
                        bUseColumnDefaultValue);
}

// ---- counts -----------------------------------------------------------------------------

void CExtTreeGridDataProvider::AdjustCounts(CExtTreeGridCellNode* pNode, LONG nTotal, LONG nVisible)
{
    bool bVisible = nVisible != 0;
    for (CExtTreeGridCellNode* p = pNode; p != NULL; p = p->m_pNodeParent)
    {
        p->m_nContentWeightAll += nTotal;
        if (bVisible && p->TreeNodeIsExpanded())
            p->m_nContentWeightExpanded += nVisible;
        else
            bVisible = false;
    }
}

void CExtTreeGridDataProvider::Recount(CExtTreeGridCellNode* pNode)
{
    for (CExtTreeGridCellNode* p = pNode; p != NULL; p = p->m_pNodeParent)
    {
        if (p->m_arrChildren.GetSize() > 0)
        {
            p->m_nContentWeightExpanded = p->TreeNodeIsExpanded() ? p->TreeNodeVisibleSubtreeSize() : 0;
            continue;
        }
        p->m_nContentWeightAll = p->m_nContentWeightExpanded = 0;
        if (p != m_pCellRoot)
            p->TreeNodeSetExpanded(false);
    }
}

void CExtTreeGridDataProvider::CollectShown(CExtTreeGridCellNode* pNode, CExtTreeGridCellNode::NodeArray& arr)
{
    for (INT_PTR i = 0; i < pNode->m_arrChildren.GetSize(); i++)
    {
        if (pNode->m_arrChildren.GetSize() - i > (INT_PTR)GRID_PREFETCH_AHEAD)
            GridPrefetch(pNode->m_arrChildren[i + GRID_PREFETCH_AHEAD]);
        CExtTreeGridCellNode* pChild = pNode->m_arrChildren[i];
        arr.Add(pChild);
        if (pChild->TreeNodeIsExpanded())
            CollectShown(pChild, arr);
    }
}

void CExtTreeGridDataProvider::Relink(CExtTreeGridCellNode* pParent, INT_PTR nFrom)
{
    CExtTreeGridCellNode::NodeArray& arr = pParent->m_arrChildren;
    for (INT_PTR i = nFrom > 0 ? nFrom - 1 : 0; i < arr.GetSize(); i++)
    {
        arr[i]->m_nOptIndex = (ULONG)i;
        arr[i]->m_pNodePrev = i > 0 ? arr[i - 1] : NULL;
        arr[i]->m_pNodeNext = i + 1 < arr.GetSize() ? arr[i + 1] : NULL;
    }
}

// ---- insert, remove, expand ---------------------------------------------------------------

CExtTreeGridCellNode* CExtTreeGridDataProvider::TreeNodeInsert(CExtTreeGridCellNode* pNodeParent, ULONG nPos,
                                                               ULONG nCount)
{
    GetFlatProvider();
    if (m_pCellRoot == NULL || nCount == 0)
        return NULL;
    CExtTreeGridCellNode* pParent = pNodeParent != NULL ? pNodeParent : m_pCellRoot;
    const ULONG nChildren = pParent->TreeNodeGetChildCount();
    if (nPos > nChildren)
        nPos = nChildren;
    // Places in the whole tree and among the shown rows.
    const bool bShown = pParent->TreeNodeIsDisplayed() && pParent->TreeNodeIsExpanded();
    ULONG nPlace = 0, nPlaceShown = 0;
    if (nPos < nChildren)
    {
        nPlace = pParent->m_arrChildren[nPos]->TreeNodeCalcOffset(false);
        nPlaceShown = pParent->m_arrChildren[nPos]->TreeNodeCalcOffset(true);
    }
    else if (nChildren > 0)
    {
        CExtTreeGridCellNode* pLast = pParent->m_arrChildren[nChildren - 1];
        nPlace = pLast->TreeNodeCalcOffset(false) + 1 + pLast->m_nContentWeightAll;
        nPlaceShown = pLast->TreeNodeCalcOffset(true) + 1 + pLast->m_nContentWeightExpanded;
    }
    else if (pParent != m_pCellRoot)
    {
        nPlace = pParent->TreeNodeCalcOffset(false) + 1;
        nPlaceShown = pParent->TreeNodeCalcOffset(true) + 1;
    }
    const ULONG nFlatRow = nPlace + FlatReservedRows();
    if (nCount > 0x7FFFFFFF - m_DP.RowCountGet() || !InRange(nPlace, 0, (ULONG)m_arrGridRef.GetSize()))
        return NULL;
    {
        // Held for the rows alone: the new-node hook below is a derived provider's code,
        // which the flat provider treats as anyone else's.
        CTreeChange change(*this);
        if (!m_DP.RowInsert(nFlatRow, nCount))
            return NULL;
    }
    CExtTreeGridCellNode::NodeArray arrNew;
    for (ULONG i = 0; i < nCount; i++)
    {
        CExtTreeGridCellNode* pNode = DYNAMIC_DOWNCAST(CExtTreeGridCellNode, m_DP.CellGet(0, nFlatRow + i, NodeClassGet(),
                                                                                           false, false));
        if (pNode == NULL)
        {
            // No node for the new rows: they go again and the tree stays as it was.
            CTreeChange change(*this);
            m_DP.RowRemove(nFlatRow, nCount);
            return NULL;
        }
        pNode->m_pNodeParent = pParent;
        arrNew.Add(pNode);
    }
    for (ULONG i = 0; i < nCount; i++)
        OnNodeCreated(arrNew[i]);
    m_arrGridRef.InsertAt(nPlace, &arrNew);
    if (bShown && InRange(nPlaceShown, 0, (ULONG)m_arrGridVis.GetSize()))
        m_arrGridVis.InsertAt(nPlaceShown, &arrNew);
    pParent->m_arrChildren.InsertAt(nPos, &arrNew);
    Relink(pParent, nPos);
    AdjustCounts(pParent, (LONG)nCount, pParent->TreeNodeIsExpanded() ? (LONG)nCount : 0);
    return arrNew[0];
}

ULONG CExtTreeGridDataProvider::TreeNodeRemove(CExtTreeGridCellNode* pNode, bool bChildrenOnly)
{
    GetFlatProvider();
    if (pNode == NULL || (pNode == m_pCellRoot && !bChildrenOnly))
        return 0;
    const ULONG nSubtree = pNode->m_nContentWeightAll;
    const ULONG nRemove = nSubtree + (bChildrenOnly ? 0 : 1);
    if (nRemove == 0)
        return 0;
    const bool bRoot = pNode == m_pCellRoot;
    const ULONG nPlace = bRoot ? 0 : pNode->TreeNodeCalcOffset(false) + (bChildrenOnly ? 1 : 0);
    const bool bDisplayed = pNode->TreeNodeIsDisplayed();
    const ULONG nShownBelow = pNode->TreeNodeIsExpanded() ? pNode->m_nContentWeightExpanded : 0;
    const ULONG nShown = bDisplayed ? nShownBelow + (bChildrenOnly ? 0 : 1) : 0;
    const ULONG nPlaceShown = bRoot ? 0 : pNode->TreeNodeCalcOffset(true) + (bChildrenOnly ? 1 : 0);
    if (!InRange(nPlace, nRemove, (ULONG)m_arrGridRef.GetSize()) ||
        (nShown > 0 && !InRange(nPlaceShown, nShown, (ULONG)m_arrGridVis.GetSize())))
        return 0;
    m_arrGridRef.RemoveAt(nPlace, nRemove);
    if (nShown > 0)
        m_arrGridVis.RemoveAt(nPlaceShown, nShown);
    CExtTreeGridCellNode* pRecount = pNode;
    if (bChildrenOnly)
    {
        pNode->m_arrChildren.RemoveAll();
        AdjustCounts(pNode, -(LONG)nSubtree, -(LONG)nShownBelow);
    }
    else
    {
        CExtTreeGridCellNode* pParent = pNode->m_pNodeParent;
        const INT_PTR nIndex = (INT_PTR)pNode->m_nOptIndex;
        pParent->m_arrChildren.RemoveAt(nIndex);
        Relink(pParent, nIndex);
        AdjustCounts(pParent, -(LONG)nRemove, pParent->TreeNodeIsExpanded() ? -(LONG)(nShownBelow + 1) : 0);
        pRecount = pParent;
    }
    Recount(pRecount);
    // The cells go last: the node itself is one of them.
    CTreeChange change(*this);
    m_DP.RowRemove(nPlace + FlatReservedRows(), nRemove);
    return nRemove;
}

bool CExtTreeGridDataProvider::TreeNodeExpand(CExtTreeGridCellNode* pNode, INT nCode)
{
    if (pNode == NULL)
        return false;
    const bool bExpanded = pNode->TreeNodeIsExpanded();
    if (nCode == 3)
        nCode = bExpanded ? 1 : 2;
    if ((nCode == 2 && bExpanded) || (nCode == 1 && !bExpanded) || (nCode != 1 && nCode != 2))
        return false;
    const bool bDisplayed = pNode->TreeNodeIsDisplayed() && pNode != m_pCellRoot;
    const ULONG nAt = bDisplayed ? pNode->TreeNodeCalcOffset(true) + 1 : 0;
    if (nCode == 2)
    {
        pNode->TreeNodeSetExpanded(true);
        CExtTreeGridCellNode::NodeArray arrShown;
        // One block for what can show below the node: grown the classic way a large
        // branch would be copied over and over.
        arrShown.SetSize(0, (INT_PTR)std::min<ULONG>(pNode->m_nContentWeightAll, (ULONG)m_arrGridRef.GetSize()));
        CollectShown(pNode, arrShown);
        pNode->m_nContentWeightExpanded = (ULONG)arrShown.GetSize();
        if (bDisplayed && InRange(nAt, 0, (ULONG)m_arrGridVis.GetSize()))
            m_arrGridVis.InsertAt(nAt, &arrShown);
        AdjustCounts(pNode->m_pNodeParent, 0, (LONG)arrShown.GetSize());
        return true;
    }
    const ULONG nShown = pNode->m_nContentWeightExpanded;
    if (bDisplayed && InRange(nAt, nShown, (ULONG)m_arrGridVis.GetSize()))
        m_arrGridVis.RemoveAt(nAt, nShown);
    pNode->m_nContentWeightExpanded = 0;
    pNode->TreeNodeSetExpanded(false);
    AdjustCounts(pNode->m_pNodeParent, 0, -(LONG)nShown);
    return true;
}

// ---- own outer bands --------------------------------------------------------------------

ULONG CExtTreeGridDataProvider::OuterColumnCountGet() const { return m_nReservedColCount; }
ULONG CExtTreeGridDataProvider::OuterRowCountGet() const { return m_nReservedRowCount; }

bool CExtTreeGridDataProvider::OuterColumnCountSet(ULONG nCount)
{
    // The first own column holds the nodes.
    if (nCount < 1)
        return false;
    if (m_pCellRoot == NULL)
    {
        m_nReservedColCount = nCount;
        return true;
    }
    CTreeChange change(*this);
    ULONG nCols = 0, nRows = 0;
    m_DP.OuterCellsReservedGet(&nCols, &nRows);
    const bool bDone = nCount > m_nReservedColCount ? m_DP.ColumnInsert(m_nReservedColCount, nCount - m_nReservedColCount)
                                                    : (nCount == m_nReservedColCount ||
                                                       m_DP.ColumnRemove(nCount, m_nReservedColCount - nCount));
    if (!bDone)
        return false;
    m_DP.OuterCellsReserve(nCols - m_nReservedColCount + nCount, nRows);
    m_nReservedColCount = nCount;
    return true;
}

bool CExtTreeGridDataProvider::OuterRowCountSet(ULONG nCount)
{
    // The first own row holds the root.
    if (nCount < 1)
        return false;
    if (m_pCellRoot == NULL)
    {
        m_nReservedRowCount = nCount;
        return true;
    }
    CTreeChange change(*this);
    ULONG nCols = 0, nRows = 0;
    m_DP.OuterCellsReservedGet(&nCols, &nRows);
    const bool bDone = nCount > m_nReservedRowCount ? m_DP.RowInsert(m_nReservedRowCount, nCount - m_nReservedRowCount)
                                                    : (nCount == m_nReservedRowCount ||
                                                       m_DP.RowRemove(nCount, m_nReservedRowCount - nCount));
    if (!bDone)
        return false;
    m_DP.OuterCellsReserve(nCols, nRows - m_nReservedRowCount + nCount);
    m_nReservedRowCount = nCount;
    return true;
}

// The inner columns start where the flat store's reservation ends. The store takes a
// reservation past its last column from anyone (or keeps one over columns taken out
// since); counted from it, a place past the end would wrap round onto the node column,
// so it leaves no inner column to move and no place to move one to.
bool CExtTreeGridDataProvider::InnerColumnsGet(ULONG& nFirstInner, ULONG& nInner)
{
    GetFlatProvider();
    m_DP.OuterCellsReservedGet(&nFirstInner, NULL);
    const ULONG nFlat = m_DP.ColumnCountGet();
    nInner = nFlat > nFirstInner ? nFlat - nFirstInner : 0;
    return nFirstInner <= nFlat;
}

// Every move below lies within the store's columns (checked first) and is the tree's own
// change, which the store does not refuse: the call changes all or nothing.
bool CExtTreeGridDataProvider::ColumnsMoveToOuter(ULONG nColNo, ULONG nCount, ULONG nOuterPos)
{
    ULONG nCols = 0, nInner = 0;
    if (!InnerColumnsGet(nCols, nInner) || nCount == 0 || nOuterPos < 1 || nOuterPos > m_nReservedColCount ||
        nColNo >= nInner || nCount > nInner - nColNo)
        return false;
    // The columns change bands here, and the counts follow at once.
    CTreeChange change(*this);
    for (ULONG i = 0; i < nCount; i++)
        m_DP.MoveColumnOrRow(true, nCols + nColNo + i, nOuterPos + i);
    m_nReservedColCount += nCount;
    m_DP.OuterCellsReserve(nCols + nCount, FlatReservedRows());
    return true;
}

bool CExtTreeGridDataProvider::ColumnsMoveToInner(ULONG nOuterPos, ULONG nCount, ULONG nColNo)
{
    ULONG nCols = 0, nInner = 0;
    if (!InnerColumnsGet(nCols, nInner) || nCount == 0 || nOuterPos < 1 || nOuterPos >= m_nReservedColCount ||
        nCount > m_nReservedColCount - nOuterPos || nColNo > nInner)
        return false;
    // Each move takes the first of the run to the place just before inner column nColNo
    // (the same flat place each time: the band shrinks by the one it takes out), behind
    // those moved before it, so that the run lands whole and in its order.
    CTreeChange change(*this);
    for (ULONG i = 0; i < nCount; i++)
        m_DP.MoveColumnOrRow(true, nOuterPos, nCols + nColNo);
    m_nReservedColCount -= nCount;
    m_DP.OuterCellsReserve(nCols - nCount, FlatReservedRows());
    return true;
}

// ---- the provider interface ------------------------------------------------------------------

void* CExtTreeGridDataProvider::MallocAlloc(ULONG nSize) { return m_DP.MallocAlloc(nSize); }
void CExtTreeGridDataProvider::MallocFree(void* pMemory) { m_DP.MallocFree(pMemory); }

// The grid's outer rows and columns come in two steps: the grid reserves (noted only,
// see OuterCellsReserve) and then puts in or takes out the rows or columns at its band.
// The flat store's reservation follows them in the same call, so it always covers the
// rows and columns that are there: the node rows start where it ends, and a column
// keeps the band it lies in. A reservation never followed up changes nothing.
bool CExtTreeGridDataProvider::IsOuterColumnChange(ULONG nColNo, ULONG nCount, bool bInsert)
{
    const ULONG nHeld = GridOuterColumns();
    if (bInsert)
        return m_nGridColsAsked > nHeld && nColNo <= nHeld && nCount <= m_nGridColsAsked - nHeld;
    return m_nGridColsAsked < nHeld && nColNo < nHeld && nCount <= nHeld - nColNo && nCount <= nHeld - m_nGridColsAsked;
}

// Any other column goes in or out without touching a band's end: the flat store then
// refuses it where it would carry a kept cell into another band.
bool CExtTreeGridDataProvider::ColumnInsert(ULONG nColNo, ULONG nInsertCount)
{
    GetFlatProvider();
    const ULONG nFlatCol = FlatColumnGet(nColNo);
    if (nFlatCol < m_nReservedColCount)
        return false;
    if (nInsertCount == 0 || !IsOuterColumnChange(nColNo, nInsertCount, true))
        return m_DP.ColumnInsert(nFlatCol, nInsertCount);
    {
        CTreeChange change(*this);
        if (!m_DP.ColumnInsert(nFlatCol, nInsertCount))
            return false;
    }
    FlatReservationShift((LONG)nInsertCount, 0);
    return true;
}

// Only the grid's outer rows come and go this way (node rows come and go with their
// nodes), and only as far as the reservation asks.
bool CExtTreeGridDataProvider::RowInsert(ULONG nRowNo, ULONG nInsertCount)
{
    GetFlatProvider();
    const ULONG nHeld = GridOuterRows();
    if (nRowNo > nHeld || nHeld > m_nGridRowsAsked || nInsertCount > m_nGridRowsAsked - nHeld)
        return false;
    {
        CTreeChange change(*this);
        if (!m_DP.RowInsert(m_nReservedRowCount + nRowNo, nInsertCount))
            return false;
    }
    FlatReservationShift(0, (LONG)nInsertCount);
    return true;
}

ULONG CExtTreeGridDataProvider::ColumnCountGet()
{
    GetFlatProvider();
    const ULONG nCount = m_DP.ColumnCountGet();
    return nCount > m_nReservedColCount ? nCount - m_nReservedColCount : 0;
}

ULONG CExtTreeGridDataProvider::RowCountGet()
{
    GetFlatProvider();
    return GridOuterRows() + VisibleRowCountGet();
}

bool CExtTreeGridDataProvider::ColumnRemove(ULONG nColNo, ULONG nRemoveCount)
{
    GetFlatProvider();
    const ULONG nFlatCol = FlatColumnGet(nColNo);
    if (nFlatCol < m_nReservedColCount)
        return false;
    if (nRemoveCount == 0 || !IsOuterColumnChange(nColNo, nRemoveCount, false))
        return m_DP.ColumnRemove(nFlatCol, nRemoveCount);
    {
        CTreeChange change(*this);
        if (!m_DP.ColumnRemove(nFlatCol, nRemoveCount))
            return false;
    }
    FlatReservationShift(-(LONG)nRemoveCount, 0);
    return true;
}

bool CExtTreeGridDataProvider::RowRemove(ULONG nRowNo, ULONG nRemoveCount)
{
    GetFlatProvider();
    const ULONG nHeld = GridOuterRows();
    if (nRowNo >= nHeld || nRemoveCount > nHeld - nRowNo || nHeld < m_nGridRowsAsked ||
        nRemoveCount > nHeld - m_nGridRowsAsked)
        return false;
    {
        CTreeChange change(*this);
        if (!m_DP.RowRemove(m_nReservedRowCount + nRowNo, nRemoveCount))
            return false;
    }
    FlatReservationShift(0, -(LONG)nRemoveCount);
    return true;
}

void CExtTreeGridDataProvider::MinimizeMemoryUsage() { m_DP.MinimizeMemoryUsage(); }

bool CExtTreeGridDataProvider::IsRowShown(ULONG nRowNo)
{
    GetFlatProvider();
    const ULONG nGridRows = GridOuterRows();
    return nRowNo < nGridRows || nRowNo - nGridRows < VisibleRowCountGet();
}

bool CExtTreeGridDataProvider::RowDefaultCellSet(ULONG nRowNo, const CExtGridCell* pCell)
{
    if (nRowNo != ULONG(-1) && !IsRowShown(nRowNo))
        return false;
    return m_DP.RowDefaultCellSet(nRowNo == ULONG(-1) ? nRowNo : FlatRowGet(nRowNo), pCell);
}

bool CExtTreeGridDataProvider::ColumnDefaultCellSet(ULONG nColNo, const CExtGridCell* pCell)
{
    return m_DP.ColumnDefaultCellSet(nColNo == ULONG(-1) ? nColNo : FlatColumnGet(nColNo), pCell);
}

void CExtTreeGridDataProvider::RowDefaultCellsRemoveAll() { m_DP.RowDefaultCellsRemoveAll(); }
void CExtTreeGridDataProvider::ColumnDefaultCellsRemoveAll() { m_DP.ColumnDefaultCellsRemoveAll(); }

CExtGridCell* CExtTreeGridDataProvider::RowDefaultCellGet(ULONG nRowNo)
{
    if (nRowNo != ULONG(-1) && !IsRowShown(nRowNo))
        return NULL;
    return m_DP.RowDefaultCellGet(nRowNo == ULONG(-1) ? nRowNo : FlatRowGet(nRowNo));
}

CExtGridCell* CExtTreeGridDataProvider::ColumnDefaultCellGet(ULONG nColNo)
{
    return m_DP.ColumnDefaultCellGet(nColNo == ULONG(-1) ? nColNo : FlatColumnGet(nColNo));
}

CExtGridCell* CExtTreeGridDataProvider::CellGet(ULONG nColNo, ULONG nRowNo, CRuntimeClass* pInitRTC,
                                                bool bAutoFindValue, bool bUseColumnDefaultValue)
{
    if (!IsRowShown(nRowNo))
        return NULL;
    return m_DP.CellGet(FlatColumnGet(nColNo), FlatRowGet(nRowNo), pInitRTC, bAutoFindValue, bUseColumnDefaultValue);
}

bool CExtTreeGridDataProvider::CellRangeSet(ULONG nColNo, ULONG nRowNo, ULONG nColCount, ULONG nRowCount,
                                            const CExtGridCell* pCellNewValue, bool bReplace, CRuntimeClass* pInitRTC,
                                            bool bAutoFindValue, bool bUseColumnDefaultValue,
                                            ULONG* p_nUpdatedCellsCount)
{
    // Shown rows need not be next to each other in the flat provider: row by row.
    GetFlatProvider();
    if (p_nUpdatedCellsCount != NULL)
        *p_nUpdatedCellsCount = 0;
    const ULONG nGridRows = GridOuterRows(), nRows = nGridRows + VisibleRowCountGet();
    if (nRowCount == 0 || nColCount == 0 || nRowNo >= nRows || nRowCount > nRows - nRowNo)
        return false;
    // A cell the store keeps refuses the whole change, before any row of it is made.
    if (pCellNewValue == NULL || bReplace)
        for (ULONG i = 0; i < nRowCount; i++)
            if (m_DP.CellRangeHoldsKept(FlatColumnGet(nColNo), FlatRowGet(nRowNo + i), nColCount, 1))
                return false;
    for (ULONG i = 0; i < nRowCount; i++)
    {
        ULONG nDone = 0;
        if (!m_DP.CellRangeSet(FlatColumnGet(nColNo), FlatRowGet(nRowNo + i), nColCount, 1, pCellNewValue, bReplace,
                               pInitRTC, bAutoFindValue, bUseColumnDefaultValue, &nDone))
            return false;
        if (p_nUpdatedCellsCount != NULL)
            *p_nUpdatedCellsCount += nDone;
    }
    return true;
}

// Noted, and answered false as the memory provider answers: the grid puts the rows and
// columns in or takes them out next, and the flat store's reservation follows them.
// Moved at once, it would have the tree look for its nodes in rows that are not there
// yet (or no longer), and carry columns across a band's end.
bool CExtTreeGridDataProvider::OuterCellsReserve(ULONG nReservedColCount, ULONG nReservedRowCount)
{
    GetFlatProvider();
    m_nGridColsAsked = nReservedColCount;
    m_nGridRowsAsked = nReservedRowCount;
    return false;
}

void CExtTreeGridDataProvider::OuterCellsReservedGet(ULONG* p_nReservedColCount, ULONG* p_nReservedRowCount) const
{
    ULONG nCols = 0, nRows = 0;
    m_DP.OuterCellsReservedGet(&nCols, &nRows);
    if (m_pCellRoot == NULL)
        nCols += m_nReservedColCount, nRows += m_nReservedRowCount;  // not reserved yet
    if (p_nReservedColCount != NULL)
        *p_nReservedColCount = nCols > m_nReservedColCount ? nCols - m_nReservedColCount : 0;
    if (p_nReservedRowCount != NULL)
        *p_nReservedRowCount = nRows > m_nReservedRowCount ? nRows - m_nReservedRowCount : 0;
}

LONG CExtTreeGridDataProvider::IconCountGet() const { return m_DP.IconCountGet(); }
CExtCmdIcon* CExtTreeGridDataProvider::IconGet(LONG nPos) const { return m_DP.IconGet(nPos); }
LONG CExtTreeGridDataProvider::IconInsert(CExtCmdIcon* pIcon, LONG nPos, bool bCopyIcon)
{
    return m_DP.IconInsert(pIcon, nPos, bCopyIcon);
}
LONG CExtTreeGridDataProvider::IconRemove(LONG nPos, LONG nCount) { return m_DP.IconRemove(nPos, nCount); }
LONG CExtTreeGridDataProvider::FontCountGet() const { return m_DP.FontCountGet(); }
HFONT CExtTreeGridDataProvider::FontGet(LONG nPos) const { return m_DP.FontGet(nPos); }
LONG CExtTreeGridDataProvider::FontInsert(HFONT hFont, LONG nPos, bool bCopyFont)
{
    return m_DP.FontInsert(hFont, nPos, bCopyFont);
}
LONG CExtTreeGridDataProvider::FontRemove(LONG nPos, LONG nCount) { return m_DP.FontRemove(nPos, nCount); }

bool CExtTreeGridDataProvider::SortApply(bool, IDataProviderEvents*) { return false; }

bool CExtTreeGridDataProvider::SortOrderSet(const CExtGridDataSortOrder& _gdso, bool, IDataProviderEvents*)
{
    return _gdso.IsEmpty();
}

bool CExtTreeGridDataProvider::SortOrderGet(CExtGridDataSortOrder& _gdso, bool) const
{
    _gdso.Empty();
    return true;
}

bool CExtTreeGridDataProvider::MoveColumnOrRow(bool, ULONG, ULONG, IDataProviderEvents*) { return true; }

// ---- the flat provider, kept for the tree ----------------------------------------------------

CExtTreeGridDataProvider::CFlatProvider::CFlatProvider(CExtTreeGridDataProvider& tree)
    : CExtGridDataProviderMemory(NULL, NULL, NULL, 32), m_tree(tree)
{
}

// Before the root is made the store holds no tree yet, and the tree lays it out itself.
bool CExtTreeGridDataProvider::CFlatProvider::KeepsTree() const
{
    return m_tree.m_pCellRoot != NULL && m_tree.m_nTreeChanges == 0;
}

// Every row is the tree's, so any row that moves moves the tree; of the columns only the
// node column is, and a column that lands before it moves it as well.
bool CExtTreeGridDataProvider::CFlatProvider::MovesTree(bool bColumns, ULONG nFirst, ULONG nSecond) const
{
    return !bColumns || nFirst == 0 || nSecond == 0;
}

ULONG CExtTreeGridDataProvider::CFlatProvider::ReservedColumns() const
{
    ULONG nCols = 0;
    OuterCellsReservedGet(&nCols, NULL);
    return nCols;
}

ULONG CExtTreeGridDataProvider::CFlatProvider::ColumnBand(ULONG nColNo, ULONG nReservedCols) const
{
    if (nColNo == 0)
        return 0;
    if (nColNo < m_tree.m_nReservedColCount)
        return 1;
    return nColNo < nReservedCols ? 2 : 3;
}

bool CExtTreeGridDataProvider::CFlatProvider::CarriesKeptAcross(ULONG nColNo, ULONG nNewColNo, ULONG nNewReservedCols)
{
    return ColumnBand(nColNo, ReservedColumns()) != ColumnBand(nNewColNo, nNewReservedCols) &&
           CellRangeHoldsKept(nColNo, 0, 1, m_nRowCount);
}

// Only columns before the reservation's end can change bands by a shift: past it every
// column is an inner one before and after.
bool CExtTreeGridDataProvider::CFlatProvider::ShiftCarriesKeptAcross(ULONG nFirst, ULONG nEnd, LONG nShift)
{
    const ULONG nReserved = ReservedColumns();
    const ULONG nStop = std::min<ULONG>(std::min<ULONG>(nEnd, m_nColCount), nReserved + (nShift < 0 ? -nShift : 0));
    for (ULONG i = nFirst; i < nStop; i++)
        if (CarriesKeptAcross(i, i + nShift, nReserved))
            return true;
    return false;
}

bool CExtTreeGridDataProvider::CFlatProvider::ColumnInsert(ULONG nColNo, ULONG nInsertCount)
{
    if (nInsertCount > 0 && KeepsTree() &&
        (nColNo == 0 || (nColNo <= m_nColCount && nInsertCount <= 0x7FFFFFFF &&
                         ShiftCarriesKeptAcross(nColNo, m_nColCount, (LONG)nInsertCount))))
        return false;
    return CExtGridDataProviderMemory::ColumnInsert(nColNo, nInsertCount);
}

bool CExtTreeGridDataProvider::CFlatProvider::ColumnRemove(ULONG nColNo, ULONG nRemoveCount)
{
    if (nRemoveCount > 0 && KeepsTree() &&
        (nColNo == 0 || (nColNo < m_nColCount && nRemoveCount <= m_nColCount - nColNo &&
                         ShiftCarriesKeptAcross(nColNo + nRemoveCount, m_nColCount, -(LONG)nRemoveCount))))
        return false;
    return CExtGridDataProviderMemory::ColumnRemove(nColNo, nRemoveCount);
}

// A row put in or taken out anywhere moves the node rows after it, or leaves a row that
// no node and no reservation accounts for, which the tree would later count as an outer
// row of the grid or as a node's.
bool CExtTreeGridDataProvider::CFlatProvider::RowInsert(ULONG nRowNo, ULONG nInsertCount)
{
    if (nInsertCount > 0 && KeepsTree())
        return false;
    return CExtGridDataProviderMemory::RowInsert(nRowNo, nInsertCount);
}

bool CExtTreeGridDataProvider::CFlatProvider::RowRemove(ULONG nRowNo, ULONG nRemoveCount)
{
    if (nRemoveCount > 0 && KeepsTree())
        return false;
    return CExtGridDataProviderMemory::RowRemove(nRowNo, nRemoveCount);
}

// Emptying or replacing a node would free it under the tree: the root's row and the rows
// after the reserved ones hold nodes in the node column. A value assigned into a node
// goes through the node's Assign, which leaves its place in the tree alone.
bool CExtTreeGridDataProvider::CFlatProvider::CellRangeSet(ULONG nColNo, ULONG nRowNo, ULONG nColCount, ULONG nRowCount,
                                                           const CExtGridCell* pCellNewValue, bool bReplace,
                                                           CRuntimeClass* pInitRTC, bool bAutoFindValue,
                                                           bool bUseColumnDefaultValue, ULONG* p_nUpdatedCellsCount)
{
    if ((pCellNewValue == NULL || bReplace) && nColNo == 0 && nColCount > 0 && nRowCount > 0 && KeepsTree())
    {
        ULONG nRows = 0;
        OuterCellsReservedGet(NULL, &nRows);
        if (nRowNo == 0 || nRowNo >= nRows || nRowCount > nRows - nRowNo)
        {
            if (p_nUpdatedCellsCount != NULL)
                *p_nUpdatedCellsCount = 0;
            return false;
        }
    }
    return CExtGridDataProviderMemory::CellRangeSet(nColNo, nRowNo, nColCount, nRowCount, pCellNewValue, bReplace,
                                                    pInitRTC, bAutoFindValue, bUseColumnDefaultValue,
                                                    p_nUpdatedCellsCount);
}

// Another count of reserved rows would have the tree look for every node in another row;
// fewer reserved columns than the tree's own would let a column sort move the node column.
bool CExtTreeGridDataProvider::CFlatProvider::OuterCellsReserve(ULONG nReservedColCount, ULONG nReservedRowCount)
{
    if (KeepsTree())
    {
        ULONG nCols = 0, nRows = 0;
        OuterCellsReservedGet(&nCols, &nRows);
        if (nReservedRowCount != nRows || nReservedColCount < m_tree.m_nReservedColCount)
            return false;
        // The columns between the old and the new end change between outer and inner.
        for (ULONG i = std::min(nCols, nReservedColCount); i < std::max(nCols, nReservedColCount) && i < m_nColCount;
             i++)
            if (CarriesKeptAcross(i, i, nReservedColCount))
                return false;
    }
    return CExtGridDataProviderMemory::OuterCellsReserve(nReservedColCount, nReservedRowCount);
}

// A row order is refused before it is stored: kept, it would be applied by a later sort.
bool CExtTreeGridDataProvider::CFlatProvider::SortOrderSet(const CExtGridDataSortOrder& _gdso, bool bColumns,
                                                           IDataProviderEvents* pDPE)
{
    if (!bColumns && !_gdso.IsEmpty() && KeepsTree())
        return false;
    return CExtGridDataProviderMemory::SortOrderSet(_gdso, bColumns, pDPE);
}

bool CExtTreeGridDataProvider::CFlatProvider::MoveColumnOrRow(bool bColumns, ULONG nFrom, ULONG nTo,
                                                              IDataProviderEvents* pDPE)
{
    const ULONG nCount = bColumns ? m_nColCount : m_nRowCount;
    const bool bMoves = nFrom < nCount && nTo <= nCount && nFrom != nTo && nFrom + 1 != nTo;
    if (bMoves && KeepsTree())
    {
        if (MovesTree(bColumns, nFrom, nTo))
            return false;
        // The column lands before the place it was put at when it moves on; the columns
        // it passes take one step back towards its old place.
        const ULONG nLanding = nFrom < nTo ? nTo - 1 : nTo;
        if (CarriesKeptAcross(nFrom, nLanding, ReservedColumns()) ||
            (nFrom < nTo ? ShiftCarriesKeptAcross(nFrom + 1, nTo, -1) : ShiftCarriesKeptAcross(nTo, nFrom, 1)))
            return false;
    }
    return CExtGridDataProviderMemory::MoveColumnOrRow(bColumns, nFrom, nTo, pDPE);
}

// Also the step of every sort: a refused swap ends the sort before anything moved.
bool CExtTreeGridDataProvider::CFlatProvider::SwapSeries(ULONG nRowColNo1, ULONG nRowColNo2, ULONG& nSwapCounter,
                                                         IDataProviderEvents* pDPE, bool bColumns)
{
    if (nRowColNo1 != nRowColNo2 && KeepsTree() &&
        (MovesTree(bColumns, nRowColNo1, nRowColNo2) || CarriesKeptAcross(nRowColNo1, nRowColNo2, ReservedColumns()) ||
         CarriesKeptAcross(nRowColNo2, nRowColNo1, ReservedColumns())))
        return false;
    return CExtGridDataProviderMemory::SwapSeries(nRowColNo1, nRowColNo2, nSwapCounter, pDPE, bColumns);
}
