// The in-memory provider: the series table, cell storage, inserting and removing
// columns and rows, sorting and moving.
#include "toolkit/grid/grid_data_provider.h"
#include "toolkit/grid/grid_alloc.h"
#include "toolkit/grid/grid_cell.h"
#include "toolkit/grid/grid_sort_keys.h"
#include <string.h>
#include <vector>

namespace {

// Bytes of an array of nCount pointers, 0 when that would not fit in 32 bits.
ULONG PointerBytes(ULONG nCount)
{
    if (nCount == 0 || nCount > 0x3FFFFFFFUL) return 0;
    return nCount * (ULONG)sizeof(void*);
}

}  // namespace

IMalloc* CExtGridDataProviderMemory::stat_CreateAllocator(ULONG nItemsPerBlock)
{
    return CExtAlloc::stat_Create(nItemsPerBlock, false, NULL, true);
}

CExtGridDataProviderMemory::CExtGridDataProviderMemory(IMalloc* pMallocData, IMalloc* pMallocCells,
                                                       IMalloc* pMallocSeries, ULONG nGranularity)
    : m_pMallocData(pMallocData), m_pMallocCells(pMallocCells), m_pMallocSeries(pMallocSeries),
      m_nGranularity(nGranularity < 2 ? 1 : nGranularity), m_nColCount(0), m_nRowCount(0), m_pppSeries(NULL),
      m_pSortKeys(NULL), m_pCellKeeper(NULL)
{
    if (m_pMallocData != NULL) m_pMallocData->AddRef();
    if (m_pMallocCells != NULL) m_pMallocCells->AddRef();
    if (m_pMallocSeries != NULL) m_pMallocSeries->AddRef();
    bool bFailed = false;
    if (m_pMallocCells == NULL) {
        m_pMallocCells = stat_CreateAllocator(256);
        bFailed = m_pMallocCells == NULL;
    }
    bool bDataMadeHere = false;
    if (!bFailed && m_pMallocData == NULL) {
        if (nGranularity >= 2) {
            m_pMallocData = m_pMallocCells;
            m_pMallocData->AddRef();
        } else {
            m_pMallocData = stat_CreateAllocator(1);
            bFailed = m_pMallocData == NULL;
            bDataMadeHere = !bFailed;
        }
    }
    if (!bFailed && m_pMallocSeries == NULL) {
        if (bDataMadeHere) {
            m_pMallocSeries = m_pMallocData;
            m_pMallocSeries->AddRef();
        } else {
            m_pMallocSeries = stat_CreateAllocator(1);
            bFailed = m_pMallocSeries == NULL;
        }
    }
    if (bFailed) {
        // The destructor does not run for a constructor that throws.
        if (m_pMallocData != NULL) m_pMallocData->Release();
        if (m_pMallocCells != NULL) m_pMallocCells->Release();
        if (m_pMallocSeries != NULL) m_pMallocSeries->Release();
        m_pMallocData = m_pMallocCells = m_pMallocSeries = NULL;
        AfxThrowMemoryException();
    }
}

CExtGridDataProviderMemory::~CExtGridDataProviderMemory()
{
    _DestroyAllCells(true);
    RowDefaultCellsRemoveAll();
    ColumnDefaultCellsRemoveAll();
    if (m_pMallocData != NULL) m_pMallocData->Release();
    if (m_pMallocCells != NULL) m_pMallocCells->Release();
    if (m_pMallocSeries != NULL) m_pMallocSeries->Release();
    m_pMallocData = m_pMallocCells = m_pMallocSeries = NULL;
}

// A provider is not stored: its cells are the grid's document, saved by their owner.
void CExtGridDataProviderMemory::Serialize(CArchive&) {}

void* CExtGridDataProviderMemory::MallocAlloc(ULONG nSize)
{
    if (nSize < 1) return NULL;
    if (m_nGranularity > 1) {
        ULONG nRest = nSize % m_nGranularity;
        if (nRest != 0) {
            ULONG nRounded = nSize + (m_nGranularity - nRest);
            if (nRounded < nSize) return NULL;
            nSize = nRounded;
        }
    }
    return m_pMallocData->Alloc(nSize);
}

void CExtGridDataProviderMemory::MallocFree(void* pMemory)
{
    if (pMemory != NULL) m_pMallocData->Free(pMemory);
}

ULONG CExtGridDataProviderMemory::ColumnCountGet() { return m_nColCount; }
ULONG CExtGridDataProviderMemory::RowCountGet() { return m_nRowCount; }

void CExtGridDataProviderMemory::MinimizeMemoryUsage()
{
    m_pMallocData->HeapMinimize();
    m_pMallocCells->HeapMinimize();
    m_pMallocSeries->HeapMinimize();
}

IMalloc* CExtGridDataProviderMemory::GetCellAllocator() { return m_pMallocCells; }

// ---- Storage ----------------------------------------------------------------------

CExtGridCell** CExtGridDataProviderMemory::_ColumnArrayGet(ULONG nColNo, bool bCreate)
{
    if (m_pppSeries == NULL || nColNo >= m_nColCount) return NULL;
    CExtGridCell** ppColumn = m_pppSeries[nColNo];
    if (ppColumn != NULL || !bCreate) return ppColumn;
    ULONG nBytes = PointerBytes(m_nRowCount);
    if (nBytes == 0) return NULL;
    ppColumn = (CExtGridCell**)m_pMallocSeries->Alloc(nBytes);
    if (ppColumn == NULL) return NULL;
    ::memset(ppColumn, 0, nBytes);
    m_pppSeries[nColNo] = ppColumn;
    return ppColumn;
}

bool CExtGridDataProviderMemory::CellRangeHoldsKept(ULONG nColNo, ULONG nRowNo, ULONG nColCount, ULONG nRowCount)
{
    if (m_pCellKeeper == NULL || m_pppSeries == NULL || nColNo >= m_nColCount || nRowNo >= m_nRowCount) return false;
    const ULONG nColEnd = nColCount > m_nColCount - nColNo ? m_nColCount : nColNo + nColCount;
    const ULONG nRowEnd = nRowCount > m_nRowCount - nRowNo ? m_nRowCount : nRowNo + nRowCount;
    for (ULONG nCol = nColNo; nCol < nColEnd; nCol++) {
        CExtGridCell** ppColumn = m_pppSeries[nCol];
        if (ppColumn == NULL) continue;
        for (ULONG nRow = nRowNo; nRow < nRowEnd; nRow++)
            if (ppColumn[nRow] != NULL && m_pCellKeeper->IsCellKept(ppColumn[nRow])) return true;
    }
    return false;
}

void CExtGridDataProviderMemory::_CellDestroy(CExtGridCell* pCell)
{
    m_pSortKeys = NULL;
    CExtGridCell::InstanceDestroy(pCell, m_pMallocCells);
}

void CExtGridDataProviderMemory::_DestroyAllCells(bool bFreeTable)
{
    m_pSortKeys = NULL;
    if (m_pppSeries != NULL) {
        for (ULONG nCol = 0; nCol < m_nColCount; nCol++) {
            CExtGridCell** ppColumn = m_pppSeries[nCol];
            if (ppColumn == NULL) continue;
            for (ULONG nRow = 0; nRow < m_nRowCount; nRow++) _CellDestroy(ppColumn[nRow]);
            m_pMallocSeries->Free(ppColumn);
            m_pppSeries[nCol] = NULL;
        }
    }
    if (bFreeTable) {
        if (m_pppSeries != NULL) m_pMallocSeries->Free(m_pppSeries);
        m_pppSeries = NULL;
        m_nColCount = 0;
    }
}

CExtGridCell* CExtGridDataProviderMemory::_CellMake(ULONG nColNo, ULONG nRowNo, CRuntimeClass* pInitRTC,
                                                    bool bAutoFindValue, bool bUseColumnDefaultValue,
                                                    const CExtGridCell* pCellSource)
{
    CExtGridCell* pCell = NULL;
    if (pInitRTC != NULL) {
        pCell = CExtGridCell::InstanceCreate(pInitRTC, m_pMallocCells);
        if (pCell == NULL) return NULL;
        pCell->SetOwner(this);
        if (pCellSource != NULL) pCell->Assign(*pCellSource);
        return pCell;
    }
    if (bAutoFindValue) {
        CExtGridCell* pDefault =
            bUseColumnDefaultValue ? ColumnDefaultCellGet(nColNo) : RowDefaultCellGet(nRowNo);
        if (pDefault != NULL) {
            pCell = pDefault->Clone(m_pMallocCells);
            if (pCell == NULL) return NULL;
            if (pCellSource != NULL) pCell->Assign(*pCellSource);
            pCell->SetOwner(this);
            return pCell;
        }
    }
    if (pCellSource == NULL) return NULL;
    pCell = pCellSource->Clone(m_pMallocCells);
    if (pCell != NULL) pCell->SetOwner(this);
    return pCell;
}

CExtGridCell* CExtGridDataProviderMemory::CellGet(ULONG nColNo, ULONG nRowNo, CRuntimeClass* pInitRTC,
                                                  bool bAutoFindValue, bool bUseColumnDefaultValue)
{
    if (nColNo >= m_nColCount || nRowNo >= m_nRowCount) return NULL;
    CExtGridCell** ppColumn = _ColumnArrayGet(nColNo, pInitRTC != NULL || bAutoFindValue);
    if (ppColumn == NULL) return NULL;
    if (ppColumn[nRowNo] != NULL) return ppColumn[nRowNo];
    CExtGridCell* pCell = _CellMake(nColNo, nRowNo, pInitRTC, bAutoFindValue, bUseColumnDefaultValue, NULL);
    if (pCell != NULL) ppColumn[nRowNo] = pCell;
    return pCell;
}

bool CExtGridDataProviderMemory::CellRangeSet(ULONG nColNo, ULONG nRowNo, ULONG nColCount, ULONG nRowCount,
                                              const CExtGridCell* pCellNewValue, bool bReplace,
                                              CRuntimeClass* pInitRTC, bool bAutoFindValue,
                                              bool bUseColumnDefaultValue, ULONG* p_nUpdatedCellsCount)
{
    m_pSortKeys = NULL;
    if (p_nUpdatedCellsCount != NULL) *p_nUpdatedCellsCount = 0;
    if (nColCount == 0 || nRowCount == 0) return false;
    if (nColNo > m_nColCount || nColCount > m_nColCount - nColNo) return false;
    if (nRowNo > m_nRowCount || nRowCount > m_nRowCount - nRowNo) return false;
    if ((pCellNewValue == NULL || bReplace) && CellRangeHoldsKept(nColNo, nRowNo, nColCount, nRowCount)) return false;
    ULONG nUpdated = 0;
    bool bResult = true;
    for (ULONG nCol = nColNo; nCol < nColNo + nColCount && bResult; nCol++) {
        CExtGridCell** ppColumn = _ColumnArrayGet(nCol, pCellNewValue != NULL);
        if (ppColumn == NULL) {
            if (pCellNewValue != NULL) bResult = false;
            continue;
        }
        for (ULONG nRow = nRowNo; nRow < nRowNo + nRowCount; nRow++) {
            CExtGridCell* pExisting = ppColumn[nRow];
            if (pCellNewValue == NULL) {
                if (pExisting == NULL) continue;
                ppColumn[nRow] = NULL;
                _CellDestroy(pExisting);
                nUpdated++;
                continue;
            }
            if (pExisting != NULL && !bReplace) {
                pExisting->Assign(*pCellNewValue);
                nUpdated++;
                continue;
            }
            // The new cell is made before the old one goes: a failure keeps the slot,
            // and a source that is the slot's own cell is still alive while it is copied.
            CExtGridCell* pCell =
                _CellMake(nCol, nRow, pInitRTC, bAutoFindValue, bUseColumnDefaultValue, pCellNewValue);
            if (pCell == NULL) {
                bResult = false;
                break;
            }
            ppColumn[nRow] = pCell;
            if (pExisting != NULL) _CellDestroy(pExisting);
            nUpdated++;
        }
    }
    if (p_nUpdatedCellsCount != NULL) *p_nUpdatedCellsCount = nUpdated;
    return bResult;
}

// ---- Inserting and removing series -------------------------------------------------

bool CExtGridDataProviderMemory::ColumnInsert(ULONG nColNo, ULONG nInsertCount)
{
    m_pSortKeys = NULL;
    if (nInsertCount == 0) return true;
    if (nColNo > m_nColCount) return false;
    if (nInsertCount > 0x3FFFFFFFUL - m_nColCount) return false;
    ULONG nNewCount = m_nColCount + nInsertCount;
    ULONG nBytes = PointerBytes(nNewCount);
    if (nBytes == 0) return false;
    CExtGridCell*** pppTable = (CExtGridCell***)(m_pppSeries == NULL ? m_pMallocSeries->Alloc(nBytes)
                                                                     : m_pMallocSeries->Realloc(m_pppSeries, nBytes));
    if (pppTable == NULL) return false;
    m_pppSeries = pppTable;
    ::memmove(m_pppSeries + nColNo + nInsertCount, m_pppSeries + nColNo,
              (m_nColCount - nColNo) * sizeof(CExtGridCell**));
    ::memset(m_pppSeries + nColNo, 0, nInsertCount * sizeof(CExtGridCell**));
    m_nColCount = nNewCount;
    // A column whose array cannot be made now gets one on its first write.
    for (ULONG i = 0; i < nInsertCount && m_nRowCount != 0; i++) {
        if (_ColumnArrayGet(nColNo + i, true) == NULL) break;
    }
    m_gdsoRows.AdjustForInsertRemove((LONG)nColNo, (LONG)nInsertCount, true);
    return true;
}

bool CExtGridDataProviderMemory::RowInsert(ULONG nRowNo, ULONG nInsertCount)
{
    m_pSortKeys = NULL;
    if (nInsertCount == 0) return true;
    if (nInsertCount > 0x3FFFFFFFUL - m_nRowCount) return false;
    if (m_nColCount == 0) {
        if (nRowNo <= m_nRowCount) m_gdsoColumns.AdjustForInsertRemove((LONG)nRowNo, (LONG)nInsertCount, true);
        m_nRowCount += nInsertCount;
        return true;
    }
    if (nRowNo > m_nRowCount) return false;
    ULONG nOldRows = m_nRowCount;
    ULONG nNewRows = nOldRows + nInsertCount;
    ULONG nNewBytes = PointerBytes(nNewRows);
    if (nNewBytes == 0) return false;
    // Columns that had no array before: on a failure they lose the one made here.
    std::vector<bool> vecHadArray(m_nColCount);
    for (ULONG nCol = 0; nCol < m_nColCount; nCol++) vecHadArray[nCol] = m_pppSeries[nCol] != NULL;
    ULONG nCol = m_nColCount;
    while (nCol > 0) {
        nCol--;
        CExtGridCell** ppOld = m_pppSeries[nCol];
        CExtGridCell** ppNew = (CExtGridCell**)(ppOld == NULL ? m_pMallocSeries->Alloc(nNewBytes)
                                                              : m_pMallocSeries->Realloc(ppOld, nNewBytes));
        if (ppNew == NULL) {
            for (ULONG nBack = nCol + 1; nBack < m_nColCount; nBack++) {
                CExtGridCell** pp = m_pppSeries[nBack];
                if (pp == NULL) continue;
                if (!vecHadArray[nBack] || nOldRows == 0) {
                    m_pMallocSeries->Free(pp);
                    m_pppSeries[nBack] = NULL;
                    continue;
                }
                // Shrinking keeps the old slots; when even that fails the larger array
                // stays, which only wastes the tail.
                CExtGridCell** ppShrunk = (CExtGridCell**)m_pMallocSeries->Realloc(pp, PointerBytes(nOldRows));
                if (ppShrunk != NULL) m_pppSeries[nBack] = ppShrunk;
            }
            return false;
        }
        if (ppOld == NULL) ::memset(ppNew, 0, nNewBytes);
        m_pppSeries[nCol] = ppNew;
    }
    for (nCol = 0; nCol < m_nColCount; nCol++) {
        CExtGridCell** pp = m_pppSeries[nCol];
        if (!vecHadArray[nCol]) continue;  // made above, all empty
        ::memmove(pp + nRowNo + nInsertCount, pp + nRowNo, (nOldRows - nRowNo) * sizeof(CExtGridCell*));
        ::memset(pp + nRowNo, 0, nInsertCount * sizeof(CExtGridCell*));
    }
    m_nRowCount = nNewRows;
    m_gdsoColumns.AdjustForInsertRemove((LONG)nRowNo, (LONG)nInsertCount, true);
    return true;
}

bool CExtGridDataProviderMemory::ColumnRemove(ULONG nColNo, ULONG nRemoveCount)
{
    m_pSortKeys = NULL;
    if (nColNo >= m_nColCount) return false;
    if (nRemoveCount == 0) return true;
    if (nRemoveCount > m_nColCount - nColNo) return false;
    if (CellRangeHoldsKept(nColNo, 0, nRemoveCount, m_nRowCount)) return false;
    if (nColNo == 0 && nRemoveCount == m_nColCount) {
        _DestroyAllCells(true);
        m_gdsoRows.Empty();
        return true;
    }
    for (ULONG nCol = nColNo; nCol < nColNo + nRemoveCount; nCol++) {
        CExtGridCell** ppColumn = m_pppSeries[nCol];
        if (ppColumn == NULL) continue;
        for (ULONG nRow = 0; nRow < m_nRowCount; nRow++) _CellDestroy(ppColumn[nRow]);
        m_pMallocSeries->Free(ppColumn);
        m_pppSeries[nCol] = NULL;
    }
    ::memmove(m_pppSeries + nColNo, m_pppSeries + nColNo + nRemoveCount,
              (m_nColCount - nColNo - nRemoveCount) * sizeof(CExtGridCell**));
    m_nColCount -= nRemoveCount;
    // The cells are gone already; when the smaller table cannot be had the larger one
    // stays, its tail unused, rather than report a removal that did happen as failed.
    CExtGridCell*** pppShrunk = (CExtGridCell***)m_pMallocSeries->Realloc(m_pppSeries, PointerBytes(m_nColCount));
    if (pppShrunk != NULL) m_pppSeries = pppShrunk;
    m_gdsoRows.AdjustForInsertRemove((LONG)nColNo, (LONG)nRemoveCount, false);
    return true;
}

bool CExtGridDataProviderMemory::RowRemove(ULONG nRowNo, ULONG nRemoveCount)
{
    m_pSortKeys = NULL;
    if (nRowNo >= m_nRowCount) return false;
    if (nRemoveCount == 0) return true;
    if (nRemoveCount > m_nRowCount - nRowNo) return false;
    if (CellRangeHoldsKept(0, nRowNo, m_nColCount, nRemoveCount)) return false;
    if (nRowNo == 0 && nRemoveCount == m_nRowCount) {
        _DestroyAllCells(m_nColCount == 0);
        m_nRowCount = 0;
        m_gdsoColumns.Empty();
        return true;
    }
    if (m_nColCount == 0) {
        m_nRowCount -= nRemoveCount;
        m_gdsoColumns.Empty();
        return true;
    }
    ULONG nNewRows = m_nRowCount - nRemoveCount;
    for (ULONG nCol = 0; nCol < m_nColCount; nCol++) {
        CExtGridCell** ppColumn = m_pppSeries[nCol];
        if (ppColumn == NULL) continue;
        for (ULONG nRow = nRowNo; nRow < nRowNo + nRemoveCount; nRow++) {
            _CellDestroy(ppColumn[nRow]);
            ppColumn[nRow] = NULL;
        }
        ::memmove(ppColumn + nRowNo, ppColumn + nRowNo + nRemoveCount,
                  (m_nRowCount - nRowNo - nRemoveCount) * sizeof(CExtGridCell*));
        CExtGridCell** ppShrunk = (CExtGridCell**)m_pMallocSeries->Realloc(ppColumn, PointerBytes(nNewRows));
        if (ppShrunk != NULL) m_pppSeries[nCol] = ppShrunk;
    }
    m_nRowCount = nNewRows;
    m_gdsoColumns.AdjustForInsertRemove((LONG)nRowNo, (LONG)nRemoveCount, false);
    return true;
}

// ---- Sorting and moving -------------------------------------------------------------

bool CExtGridDataProviderMemory::SortOrderCheck(const CExtGridDataSortOrder& _gdso, bool bColumns)
{
    ULONG nCount = bColumns ? m_nRowCount : m_nColCount;
    for (INT_PTR i = 0; i < _gdso.m_arrItems.GetSize(); i++) {
        LONG nIndex = _gdso.m_arrItems[i].m_nRowColNo;
        if (nIndex < 0 || (ULONG)nIndex >= nCount) return false;
    }
    return true;
}

int CExtGridDataProviderMemory::CompareCells(CExtGridCell* pCell1, CExtGridCell* pCell2)
{
    if (pCell1 == NULL) return pCell2 == NULL ? 0 : -1;
    if (pCell2 == NULL) return 1;
    return pCell1->Compare(*pCell2, 0xB0000, 0);
}

int CExtGridDataProviderMemory::CompareSeries(ULONG nRowColNo1, ULONG nRowColNo2, bool bColumns,
                                              const CExtGridDataSortOrder& _gdso)
{
    if (m_pSortKeys != NULL && m_pSortKeys->Covers(_gdso, bColumns, nRowColNo1, nRowColNo2))
        return m_pSortKeys->Compare(nRowColNo1, nRowColNo2);
    if (nRowColNo1 == nRowColNo2) return 0;
    int nFallback = 0;
    for (INT_PTR i = 0; i < _gdso.m_arrItems.GetSize(); i++) {
        const CExtGridDataSortOrder::ITEM_INFO& item = _gdso.m_arrItems[i];
        ULONG nKey = (ULONG)item.m_nRowColNo;
        CExtGridCell* pCell1 = bColumns ? CellGet(nRowColNo1, nKey, NULL, true, true)
                                        : CellGet(nKey, nRowColNo1, NULL, true, true);
        CExtGridCell* pCell2 = bColumns ? CellGet(nRowColNo2, nKey, NULL, true, true)
                                        : CellGet(nKey, nRowColNo2, NULL, true, true);
        int nResult = item.m_bAscending ? CompareCells(pCell1, pCell2) : CompareCells(pCell2, pCell1);
        if (nResult != 0) return nResult;
        if (i == 0 && pCell1 != pCell2) nFallback = (pCell1 < pCell2) ? -1 : 1;
    }
    return nFallback;
}

bool CExtGridDataProviderMemory::SwapSeries(ULONG nRowColNo1, ULONG nRowColNo2, ULONG& nSwapCounter,
                                            IDataProviderEvents* pDPE, bool bColumns)
{
    if (m_pppSeries == NULL) {
        nSwapCounter++;
        return true;
    }
    ULONG nCount = bColumns ? m_nColCount : m_nRowCount;
    if (nRowColNo1 >= nCount || nRowColNo2 >= nCount) return false;
    if (pDPE != NULL) pDPE->OnSeriesSwapping(bColumns, nRowColNo1, nRowColNo2, nSwapCounter);
    if (bColumns) {
        CExtGridCell** pp = m_pppSeries[nRowColNo1];
        m_pppSeries[nRowColNo1] = m_pppSeries[nRowColNo2];
        m_pppSeries[nRowColNo2] = pp;
        m_gdsoRows.AdjustForSwap((LONG)nRowColNo1, (LONG)nRowColNo2);
    } else {
        // A column without an array holds no cell in either row: nothing to exchange.
        for (ULONG nCol = 0; nCol < m_nColCount; nCol++) {
            CExtGridCell** ppColumn = m_pppSeries[nCol];
            if (ppColumn == NULL) continue;
            CExtGridCell* p = ppColumn[nRowColNo1];
            ppColumn[nRowColNo1] = ppColumn[nRowColNo2];
            ppColumn[nRowColNo2] = p;
        }
        m_gdsoColumns.AdjustForSwap((LONG)nRowColNo1, (LONG)nRowColNo2);
    }
    // A swap outside what the sort's key table holds would leave it stale.
    if (m_pSortKeys != NULL && !m_pSortKeys->Swap(bColumns, nRowColNo1, nRowColNo2)) m_pSortKeys = NULL;
    nSwapCounter++;
    return true;
}

// Recurses into the smaller part and loops over the larger one, so the depth stays
// logarithmic whatever the data.
bool CExtGridDataProviderMemory::QuickSort(bool bColumns, IDataProviderEvents* pDPE,
                                           const CExtGridDataSortOrder& _gdso, ULONG& nSwapCounter, LONG nLow,
                                           LONG nHigh)
{
    while (nLow < nHigh) {
        LONG i = nLow, j = nHigh;
        LONG nPivot = (LONG)(((long long)nLow + nHigh) / 2);
        while (i <= j) {
            while (i < nHigh && CompareSeries((ULONG)i, (ULONG)nPivot, bColumns, _gdso) < 0) i++;
            while (j > nLow && CompareSeries((ULONG)j, (ULONG)nPivot, bColumns, _gdso) > 0) j--;
            if (i > j) break;
            if (i != j && CompareSeries((ULONG)i, (ULONG)j, bColumns, _gdso) != 0) {
                if (!SwapSeries((ULONG)i, (ULONG)j, nSwapCounter, pDPE, bColumns)) return false;
                if (nPivot == i)
                    nPivot = j;
                else if (nPivot == j)
                    nPivot = i;
            }
            i++;
            j--;
        }
        if ((long long)j - nLow <= (long long)nHigh - i) {
            if (nLow < j && !QuickSort(bColumns, pDPE, _gdso, nSwapCounter, nLow, j)) return false;
            nLow = i;
        } else {
            if (i < nHigh && !QuickSort(bColumns, pDPE, _gdso, nSwapCounter, i, nHigh)) return false;
            nHigh = j;
        }
    }
    return true;
}

bool CExtGridDataProviderMemory::SortApply(bool bColumns, IDataProviderEvents* pDPE)
{
    // A copy: the events may reach back into the provider while the sort runs.
    CExtGridDataSortOrder _gdso(bColumns ? m_gdsoColumns : m_gdsoRows);
    if (_gdso.IsEmpty()) return true;
    if (!SortOrderCheck(_gdso, bColumns)) return false;
    ULONG nFirst = 0;
    if (bColumns)
        OuterCellsReservedGet(&nFirst, NULL);
    else
        OuterCellsReservedGet(NULL, &nFirst);
    ULONG nCount = bColumns ? m_nColCount : m_nRowCount;
    if (nFirst >= nCount || nCount - nFirst < 2 || nCount > 0x7FFFFFFFUL) return true;
    if (pDPE != NULL) pDPE->OnSortBegin(bColumns);
    ULONG nSwapCounter = 0;
    // The key table stands for this provider's own comparison; a derived provider may
    // compare otherwise and sorts without it. A sort started from inside another one
    // leaves the outer sort without its table, which would no longer match the series.
    CExtGridSortKeyTable keys(*this, _gdso, bColumns, nFirst, nCount - 1);
    bool bResult = false;
    // The table lives on this frame: whatever leaves the sort (a cell's clone, assign
    // or compare, or the sink, throwing) must not leave the provider pointing at it.
    try {
        m_pSortKeys = GetRuntimeClass() == RUNTIME_CLASS(CExtGridDataProviderMemory) && keys.Create() ? &keys : NULL;
        bResult = QuickSort(bColumns, pDPE, _gdso, nSwapCounter, (LONG)nFirst, (LONG)(nCount - 1));
    } catch (...) {
        m_pSortKeys = NULL;
        if (pDPE != NULL) pDPE->OnSortEnd(bColumns);
        throw;
    }
    m_pSortKeys = NULL;
    if (pDPE != NULL) pDPE->OnSortEnd(bColumns);
    return bResult;
}

bool CExtGridDataProviderMemory::SortOrderSet(const CExtGridDataSortOrder& _gdso, bool bColumns,
                                              IDataProviderEvents* pDPE)
{
    if (!_gdso.HasNoDuplicates()) return false;
    if (!SortOrderCheck(_gdso, bColumns)) return false;
    CExtGridDataSortOrder& _gdsoStored = bColumns ? m_gdsoColumns : m_gdsoRows;
    if (_gdsoStored == _gdso) return true;
    _gdsoStored = _gdso;
    SortApply(bColumns, pDPE);
    return true;
}

bool CExtGridDataProviderMemory::SortOrderGet(CExtGridDataSortOrder& _gdso, bool bColumns) const
{
    _gdso = bColumns ? m_gdsoColumns : m_gdsoRows;
    return true;
}

bool CExtGridDataProviderMemory::MoveColumnOrRow(bool bColumns, ULONG nFrom, ULONG nTo, IDataProviderEvents* pDPE)
{
    m_pSortKeys = NULL;
    ULONG nCount = bColumns ? m_nColCount : m_nRowCount;
    if (nFrom >= nCount || nTo > nCount) return false;
    if (m_pppSeries == NULL || nFrom == nTo || nFrom + 1 == nTo) return true;
    if (bColumns) {
        CExtGridCell** pp = m_pppSeries[nFrom];
        if (nFrom < nTo) {
            ::memmove(m_pppSeries + nFrom, m_pppSeries + nFrom + 1, (nTo - 1 - nFrom) * sizeof(CExtGridCell**));
            m_pppSeries[nTo - 1] = pp;
        } else {
            ::memmove(m_pppSeries + nTo + 1, m_pppSeries + nTo, (nFrom - nTo) * sizeof(CExtGridCell**));
            m_pppSeries[nTo] = pp;
        }
        if (!m_gdsoRows.IsEmpty()) m_gdsoRows.AdjustForMove((LONG)nFrom, (LONG)nTo);
    } else {
        for (ULONG nCol = 0; nCol < m_nColCount; nCol++) {
            CExtGridCell** ppColumn = m_pppSeries[nCol];
            if (ppColumn == NULL) continue;
            CExtGridCell* p = ppColumn[nFrom];
            if (nFrom < nTo) {
                ::memmove(ppColumn + nFrom, ppColumn + nFrom + 1, (nTo - 1 - nFrom) * sizeof(CExtGridCell*));
                ppColumn[nTo - 1] = p;
            } else {
                ::memmove(ppColumn + nTo + 1, ppColumn + nTo, (nFrom - nTo) * sizeof(CExtGridCell*));
                ppColumn[nTo] = p;
            }
        }
        if (!m_gdsoColumns.IsEmpty()) m_gdsoColumns.AdjustForMove((LONG)nFrom, (LONG)nTo);
    }
    if (pDPE != NULL) pDPE->OnSeriesMoved(bColumns, nFrom, nTo);
    return true;
}
