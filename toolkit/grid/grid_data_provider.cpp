// The provider base, the default-cell layer and the in-memory provider.
#include "toolkit/grid/grid_data_provider.h"
#include "toolkit/grid/grid_alloc.h"
#include "toolkit/grid/grid_cell.h"
#include <string.h>

IMPLEMENT_DYNAMIC(CExtGridDataProvider, CObject)
IMPLEMENT_DYNAMIC(CExtGridDataProviderBL, CExtGridDataProvider)
IMPLEMENT_DYNAMIC(CExtGridDataProviderMemory, CExtGridDataProviderBL)

// ---- The provider base ------------------------------------------------------------

CExtGridDataProvider::CExtGridDataProvider() {}
CExtGridDataProvider::~CExtGridDataProvider() {}

bool CExtGridDataProvider::CacheHint(const CRect&, const CRect&) { return true; }
bool CExtGridDataProvider::CacheRangeQuery(bool bHorz) { return OnCacheRangeQuery(bHorz); }
bool CExtGridDataProvider::OnCacheRangeQuery(bool) { return true; }
bool CExtGridDataProvider::CacheRangeQueryEx(const CRect& rcRange) { return OnCacheRangeQueryEx(rcRange); }
bool CExtGridDataProvider::OnCacheRangeQueryEx(const CRect&) { return true; }

ULONG CExtGridDataProvider::ColumnCountGet() const
{
    return const_cast<CExtGridDataProvider*>(this)->ColumnCountGet();
}

ULONG CExtGridDataProvider::RowCountGet() const
{
    return const_cast<CExtGridDataProvider*>(this)->RowCountGet();
}

LONG CExtGridDataProvider::ImageGetCount() const { return 0; }
CExtCmdIcon* CExtGridDataProvider::ImageGetAt(LONG) const { return NULL; }

LPTSTR CExtGridDataProvider::StringAlloc(LPCTSTR sText)
{
    if (sText == NULL) return NULL;
    size_t nLen = ::strlen(sText);
    if (nLen >= 0x7FFFFFFF) return NULL;
    LPTSTR p = (LPTSTR)MallocAlloc((ULONG)(nLen + 1));
    if (p == NULL) return NULL;
    ::memcpy(p, sText, nLen + 1);
    return p;
}

bool CExtGridDataProvider::CellRangeEmpty(ULONG nColNo, ULONG nRowNo, ULONG nColCount, ULONG nRowCount,
                                          ULONG* p_nUpdatedCellsCount)
{
    return CellRangeSet(nColNo, nRowNo, nColCount, nRowCount, NULL, true, NULL, false, true, p_nUpdatedCellsCount);
}

// ---- Default cells and reserved counts ------------------------------------------

CExtGridDataProviderBL::CExtGridDataProviderBL()
    : m_nReservedColCount(0), m_nReservedRowCount(0), m_mapColumnDefaultCells(10), m_mapRowDefaultCells(10)
{
}

// The cells of the maps were made by the derived provider's allocator, which is gone
// by now; the provider that made them destroys them in its own destructor.
CExtGridDataProviderBL::~CExtGridDataProviderBL() {}

bool CExtGridDataProviderBL::_DefaultCellSet(CMapPtrToPtr& map, ULONG nKey, const CExtGridCell* pCell)
{
    void* pKey = (void*)(UINT_PTR)nKey;
    void* pCurrent = NULL;
    bool bHadOne = map.Lookup(pKey, pCurrent) != FALSE;
    if (pCell == NULL) {
        if (!bHadOne) return false;
        map.RemoveKey(pKey);
        CExtGridCell::InstanceDestroy((CExtGridCell*)pCurrent, GetCellAllocator());
        return true;
    }
    if (bHadOne && pCurrent == (void*)pCell) return true;
    // Cloned before the old default goes, so a failed clone keeps it.
    CExtGridCell* pClone = pCell->Clone(GetCellAllocator());
    if (pClone == NULL) return false;
    pClone->SetOwner(this);
    if (bHadOne) CExtGridCell::InstanceDestroy((CExtGridCell*)pCurrent, GetCellAllocator());
    map.SetAt(pKey, pClone);
    return true;
}

void CExtGridDataProviderBL::_DefaultCellsRemoveAll(CMapPtrToPtr& map)
{
    IMalloc* pMalloc = GetCellAllocator();
    POSITION pos = map.GetStartPosition();
    while (pos != NULL) {
        void* pKey = NULL;
        void* pCell = NULL;
        map.GetNextAssoc(pos, pKey, pCell);
        CExtGridCell::InstanceDestroy((CExtGridCell*)pCell, pMalloc);
    }
    map.RemoveAll();
}

CExtGridCell* CExtGridDataProviderBL::_DefaultCellGet(const CMapPtrToPtr& map, ULONG nKey) const
{
    void* pCell = NULL;
    if (!map.Lookup((void*)(UINT_PTR)nKey, pCell)) return NULL;
    return (CExtGridCell*)pCell;
}

bool CExtGridDataProviderBL::RowDefaultCellSet(ULONG nRowNo, const CExtGridCell* pCell)
{
    return _DefaultCellSet(m_mapRowDefaultCells, nRowNo, pCell);
}

bool CExtGridDataProviderBL::ColumnDefaultCellSet(ULONG nColNo, const CExtGridCell* pCell)
{
    return _DefaultCellSet(m_mapColumnDefaultCells, nColNo, pCell);
}

void CExtGridDataProviderBL::RowDefaultCellsRemoveAll() { _DefaultCellsRemoveAll(m_mapRowDefaultCells); }
void CExtGridDataProviderBL::ColumnDefaultCellsRemoveAll() { _DefaultCellsRemoveAll(m_mapColumnDefaultCells); }

CExtGridCell* CExtGridDataProviderBL::RowDefaultCellGet(ULONG nRowNo)
{
    return _DefaultCellGet(m_mapRowDefaultCells, nRowNo);
}

CExtGridCell* CExtGridDataProviderBL::ColumnDefaultCellGet(ULONG nColNo)
{
    return _DefaultCellGet(m_mapColumnDefaultCells, nColNo);
}

bool CExtGridDataProviderBL::OuterCellsReserve(ULONG nReservedColCount, ULONG nReservedRowCount)
{
    m_nReservedColCount = nReservedColCount;
    m_nReservedRowCount = nReservedRowCount;
    return false;
}

void CExtGridDataProviderBL::OuterCellsReservedGet(ULONG* p_nReservedColCount, ULONG* p_nReservedRowCount) const
{
    if (p_nReservedColCount != NULL) *p_nReservedColCount = m_nReservedColCount;
    if (p_nReservedRowCount != NULL) *p_nReservedRowCount = m_nReservedRowCount;
}
