// Data providers: where a grid's cells live. A grid window never owns its cells; it
// counts, inserts, removes, fetches, fills, moves and sorts them through
// CExtGridDataProvider. Each layer adds one concern:
//   CExtGDPI<>               the icon list that cells name by icon index;
//   CExtGDPF<>               the font list that cells name by font index;
//   CExtGridDataProviderBL   default cells per row and per column, reserved outer counts;
//   CExtGridDataProviderMemory  every cell in memory, column by column, and sorting.
//
// Addressing: a provider holds columns 0..C-1 and rows 0..R-1; the first columns and
// rows are reserved for the grid's outer (header) cells and are counted like the rest.
// An empty slot is a NULL cell pointer. Sorting never moves the reserved leading series.
#pragma once
#include <objidl.h>
#include "framework/framework.h"
#include "toolkit/grid/grid_sort_order.h"
#include "toolkit/core/cmd_icon.h"

class CExtGridCell;

class CExtGridDataProvider : public CObject
{
    DECLARE_DYNAMIC(CExtGridDataProvider)
public:
    // What a provider tells its grid while it sorts and moves series, so the grid can
    // keep its selection and focus in step. bColumns: whole columns were swapped or
    // moved (else whole rows).
    class IDataProviderEvents
    {
    public:
        // Only around a sort of at least two series; the end comes whatever the result.
        virtual void OnSortBegin(bool bColumns) = 0;
        virtual void OnSortEnd(bool bColumns) = 0;
        // Before each swap; nSwapCounter counts the swaps made before this one.
        virtual void OnSeriesSwapping(bool bColumns, ULONG nRowColNo1, ULONG nRowColNo2, ULONG nSwapCounter) = 0;
        // After series nFrom was moved to just before nTo (counted before the move).
        virtual void OnSeriesMoved(bool bColumns, ULONG nFrom, ULONG nTo) = 0;
    };

    CExtGridDataProvider();
    virtual ~CExtGridDataProvider();

    // General memory of the provider (cell texts kept in provider memory among it).
    virtual void* MallocAlloc(ULONG nSize) = 0;
    virtual void MallocFree(void* pMemory) = 0;

    virtual bool ColumnInsert(ULONG nColNo, ULONG nInsertCount) = 0;
    virtual bool RowInsert(ULONG nRowNo, ULONG nInsertCount) = 0;
    virtual ULONG ColumnCountGet() = 0;
    virtual ULONG RowCountGet() = 0;
    virtual bool ColumnRemove(ULONG nColNo, ULONG nRemoveCount = 1) = 0;
    virtual bool RowRemove(ULONG nRowNo, ULONG nRemoveCount = 1) = 0;
    virtual void MinimizeMemoryUsage() = 0;

    // Default cells: a NULL cell removes the default (false when there was none); any
    // other cell is cloned into the provider, the caller keeps its own.
    virtual bool RowDefaultCellSet(ULONG nRowNo, const CExtGridCell* pCell) = 0;
    virtual bool ColumnDefaultCellSet(ULONG nColNo, const CExtGridCell* pCell) = 0;
    virtual void RowDefaultCellsRemoveAll() = 0;
    virtual void ColumnDefaultCellsRemoveAll() = 0;
    virtual CExtGridCell* RowDefaultCellGet(ULONG nRowNo) = 0;
    virtual CExtGridCell* ColumnDefaultCellGet(ULONG nColNo) = 0;

    // The cell at a slot. An empty slot stays empty (NULL) unless a class is given (a
    // new cell of it is made) or bAutoFindValue is set (the column's default, or the
    // row's when bUseColumnDefaultValue is clear, is cloned into the slot).
    virtual CExtGridCell* CellGet(ULONG nColNo, ULONG nRowNo, CRuntimeClass* pInitRTC = NULL,
                                  bool bAutoFindValue = true, bool bUseColumnDefaultValue = true) = 0;
    // Fills (or, without a source cell, empties) a rectangle of slots; *p_nUpdatedCellsCount
    // receives the number of slots changed. False for an empty or out-of-range rectangle
    // (nothing changed) or a failed creation (what was set before stays).
    virtual bool CellRangeSet(ULONG nColNo, ULONG nRowNo, ULONG nColCount = 1, ULONG nRowCount = 1,
                              const CExtGridCell* pCellNewValue = NULL, bool bReplace = false,
                              CRuntimeClass* pInitRTC = NULL, bool bAutoFindValue = true,
                              bool bUseColumnDefaultValue = true, ULONG* p_nUpdatedCellsCount = NULL) = 0;
    // The grid says how many leading columns and rows hold its outer cells. A provider
    // that makes room for them itself answers true; one that leaves the inserting to the
    // grid answers false.
    virtual bool OuterCellsReserve(ULONG nReservedColCount, ULONG nReservedRowCount) = 0;
    virtual void OuterCellsReservedGet(ULONG* p_nReservedColCount = NULL, ULONG* p_nReservedRowCount = NULL) const = 0;

    // Cache hooks: the grid tells the provider which columns and rows it shows (left/right
    // the first/last visible column, top/bottom the first/last visible row, now and
    // before), and asks whether an axis is limited at its end (bHorz: the columns) or
    // whether a range can be served. A provider that holds everything in memory has
    // nothing to fetch and answers true throughout.
    virtual bool CacheHint(const CRect& rcVisibleRange, const CRect& rcVisibleRangePrev);
    virtual bool CacheRangeQuery(bool bHorz);
    virtual bool OnCacheRangeQuery(bool bHorz);
    virtual bool CacheRangeQueryEx(const CRect& rcRange);
    virtual bool OnCacheRangeQueryEx(const CRect& rcRange);
    // The counts for callers that hold a const provider.
    virtual ULONG ColumnCountGet() const;
    virtual ULONG RowCountGet() const;

    // The icon list that cells name through their icon index.
    virtual LONG IconCountGet() const = 0;
    virtual CExtCmdIcon* IconGet(LONG nPos) const = 0;
    virtual LONG IconInsert(CExtCmdIcon* pIcon, LONG nPos = -1, bool bCopyIcon = true) = 0;
    virtual LONG IconRemove(LONG nPos = 0, LONG nCount = -1) = 0;
    // The font list that cells name through their font index.
    virtual LONG FontCountGet() const = 0;
    virtual HFONT FontGet(LONG nPos) const = 0;
    virtual LONG FontInsert(HFONT hFont, LONG nPos = -1, bool bCopyFont = true) = 0;
    virtual LONG FontRemove(LONG nPos = 0, LONG nCount = -1) = 0;

    // Sorting and moving. bColumns: whole columns are sorted or moved by the keys of the
    // column sort order (row indices); else rows by the row sort order (column indices).
    virtual bool SortApply(bool bColumns, IDataProviderEvents* pDPE = NULL) = 0;
    virtual bool SortOrderSet(const CExtGridDataSortOrder& _gdso, bool bColumns, IDataProviderEvents* pDPE = NULL) = 0;
    virtual bool SortOrderGet(CExtGridDataSortOrder& _gdso, bool bColumns) const = 0;
    // nTo is an insertion position counted before the move (0..count).
    virtual bool MoveColumnOrRow(bool bColumns, ULONG nFrom, ULONG nTo, IDataProviderEvents* pDPE = NULL) = 0;

    // The second image list the cells' older callers read; a provider has none (the slot
    // the cells call their image index is the font index).
    virtual LONG ImageGetCount() const;
    virtual CExtCmdIcon* ImageGetAt(LONG nPos) const;

    // The icon list under the names the cells use.
    LONG IconGetCount() const { return IconCountGet(); }
    CExtCmdIcon* IconGetAt(LONG nPos) const { return IconGet(nPos); }
    // The default-cell operations under the names the tree and data-bound grids use.
    bool RowDefaultValueBind(ULONG nRowNo, const CExtGridCell* pCell = NULL) { return RowDefaultCellSet(nRowNo, pCell); }
    bool ColumnDefaultValueBind(ULONG nColNo, const CExtGridCell* pCell = NULL) { return ColumnDefaultCellSet(nColNo, pCell); }
    void RowDefaultValueUnbindAll() { RowDefaultCellsRemoveAll(); }
    void ColumnDefaultValueUnbindAll() { ColumnDefaultCellsRemoveAll(); }
    CExtGridCell* RowDefaultValueGet(ULONG nRowNo) { return RowDefaultCellGet(nRowNo); }
    CExtGridCell* ColumnDefaultValueGet(ULONG nColNo) { return ColumnDefaultCellGet(nColNo); }

    // A copy of a zero-terminated text in provider memory (length + 1 bytes); NULL text
    // or a failed allocation gives NULL. Free it with MallocFree.
    LPTSTR StringAlloc(LPCTSTR sText);
    // Deletes every cell of a rectangle; *p_nUpdatedCellsCount gets how many there were.
    bool CellRangeEmpty(ULONG nColNo, ULONG nRowNo, ULONG nColCount = 1, ULONG nRowCount = 1,
                        ULONG* p_nUpdatedCellsCount = NULL);
};

// Removes and deletes nCount owned items from nPos (a negative count runs to the end);
// returns how many went. The icon and font layers keep their items this way.
template <class T>
LONG ExtGridRemoveOwned(CArray<T*, T*>& arr, LONG nPos, LONG nCount)
{
    const LONG nSize = (LONG)arr.GetSize();
    if (nPos < 0 || nCount == 0 || nSize == 0 || nPos >= nSize) return 0;
    if (nCount < 0 || nCount > nSize - nPos) nCount = nSize - nPos;
    for (LONG i = 0; i < nCount; i++) delete arr.GetAt(nPos + i);
    arr.RemoveAt(nPos, nCount);
    return nCount;
}

// The icon layer: an owned list of icons.
template <class _BT>
class CExtGDPI : public _BT
{
public:
    CExtGDPI() {}
    virtual ~CExtGDPI() { IconRemove(0, -1); }

    virtual LONG IconCountGet() const override { return (LONG)m_arrIcons.GetSize(); }
    virtual CExtCmdIcon* IconGet(LONG nPos) const override
    {
        if (nPos < 0 || nPos >= (LONG)m_arrIcons.GetSize()) return NULL;
        return m_arrIcons.GetAt(nPos);
    }
    // A NULL icon gives -1; a position outside 0..count appends. Without bCopyIcon the
    // list takes the icon object itself and deletes it later.
    virtual LONG IconInsert(CExtCmdIcon* pIcon, LONG nPos = -1, bool bCopyIcon = true) override
    {
        if (pIcon == NULL) return -1;
        LONG nCount = (LONG)m_arrIcons.GetSize();
        if (nPos < 0 || nPos > nCount) nPos = nCount;
        CExtCmdIcon* pStored = bCopyIcon ? new CExtCmdIcon(*pIcon) : pIcon;
        m_arrIcons.InsertAt(nPos, pStored);
        return nPos;
    }
    // A negative count runs to the end; returns how many icons were removed (and deleted).
    virtual LONG IconRemove(LONG nPos = 0, LONG nCount = -1) override
    {
        return ExtGridRemoveOwned(m_arrIcons, nPos, nCount);
    }

protected:
    CArray<CExtCmdIcon*, CExtCmdIcon*> m_arrIcons;
};

// The font layer: a list of font handles, each deleted with the list when the provider
// made it.
template <class _BT>
class CExtGDPF : public _BT
{
public:
    struct CExtGDPFFont
    {
        HFONT m_hFont;
        bool m_bOwned : 1;
        CExtGDPFFont(HFONT hFont = NULL, bool bOwned = false) : m_hFont(hFont), m_bOwned(bOwned) {}
        ~CExtGDPFFont()
        {
            if (m_bOwned && m_hFont != NULL) ::DeleteObject(m_hFont);
        }
        CExtGDPFFont(const CExtGDPFFont&) = delete;
        CExtGDPFFont& operator=(const CExtGDPFFont&) = delete;
    };

    CExtGDPF() {}
    virtual ~CExtGDPF() { FontRemove(0, -1); }

    virtual LONG FontCountGet() const override { return (LONG)m_arrFonts.GetSize(); }
    virtual HFONT FontGet(LONG nPos) const override
    {
        if (nPos < 0 || nPos >= (LONG)m_arrFonts.GetSize()) return NULL;
        const CExtGDPFFont* pFont = m_arrFonts.GetAt(nPos);
        return pFont != NULL ? pFont->m_hFont : NULL;
    }
    // A NULL font gives -1; with bCopyFont a new font is made from the given one's
    // LOGFONT and owned (-1 when that fails), else the handle is kept and not owned.
    virtual LONG FontInsert(HFONT hFont, LONG nPos = -1, bool bCopyFont = true) override
    {
        if (hFont == NULL) return -1;
        LONG nCount = (LONG)m_arrFonts.GetSize();
        if (nPos < 0 || nPos > nCount) nPos = nCount;
        HFONT hStored = hFont;
        if (bCopyFont) {
            LOGFONTA lf;
            ::memset(&lf, 0, sizeof(lf));
            if (::GetObjectA(hFont, sizeof(lf), &lf) != (int)sizeof(lf)) return -1;
            hStored = ::CreateFontIndirectA(&lf);
            if (hStored == NULL) return -1;
        }
        m_arrFonts.InsertAt(nPos, new CExtGDPFFont(hStored, bCopyFont));
        return nPos;
    }
    virtual LONG FontRemove(LONG nPos = 0, LONG nCount = -1) override
    {
        return ExtGridRemoveOwned(m_arrFonts, nPos, nCount);
    }

protected:
    CArray<CExtGDPFFont*, CExtGDPFFont*> m_arrFonts;
};

// Default cells and the reserved outer counts.
class CExtGridDataProviderBL : public CExtGDPF<CExtGDPI<CExtGridDataProvider>>
{
    DECLARE_DYNAMIC(CExtGridDataProviderBL)
public:
    CExtGridDataProviderBL();
    virtual ~CExtGridDataProviderBL();

    virtual bool RowDefaultCellSet(ULONG nRowNo, const CExtGridCell* pCell) override;
    virtual bool ColumnDefaultCellSet(ULONG nColNo, const CExtGridCell* pCell) override;
    virtual void RowDefaultCellsRemoveAll() override;
    virtual void ColumnDefaultCellsRemoveAll() override;
    virtual CExtGridCell* RowDefaultCellGet(ULONG nRowNo) override;
    virtual CExtGridCell* ColumnDefaultCellGet(ULONG nColNo) override;

    // Records both counts and answers false: the grid inserts the outer series itself.
    virtual bool OuterCellsReserve(ULONG nReservedColCount, ULONG nReservedRowCount) override;
    virtual void OuterCellsReservedGet(ULONG* p_nReservedColCount = NULL,
                                       ULONG* p_nReservedRowCount = NULL) const override;

    // Where cells of this provider live; default cells are cloned into it and destroyed
    // through it.
    virtual IMalloc* GetCellAllocator() = 0;

protected:
    // The worker of both default-cell setters.
    bool _DefaultCellSet(CMapPtrToPtr& map, ULONG nKey, const CExtGridCell* pCell);
    void _DefaultCellsRemoveAll(CMapPtrToPtr& map);
    CExtGridCell* _DefaultCellGet(const CMapPtrToPtr& map, ULONG nKey) const;

    ULONG m_nReservedColCount;
    ULONG m_nReservedRowCount;
    CMapPtrToPtr m_mapColumnDefaultCells;
    CMapPtrToPtr m_mapRowDefaultCells;
};

class CExtGridSortKeyTable;

// Every cell in memory: a table of column pointers, each to an array of row-count cell
// pointers (or NULL until the column is first written).
class CExtGridDataProviderMemory : public CExtGridDataProviderBL
{
    DECLARE_DYNAMIC(CExtGridDataProviderMemory)
public:
    // Cells that another object holds on to while they live here (a report grid's
    // registered columns are their own header cells). Emptying, replacing or removing
    // such a cell would free it under its holder, wherever in the store it lies now.
    class ICellKeeper
    {
    public:
        virtual bool IsCellKept(const CExtGridCell* pCell) = 0;
    };

    // NULL allocators are made here (a pooled zero-filling one for the cells; the
    // general and the series allocators share it or an unpooled one). Allocators passed
    // in get one reference. Throws the memory exception when one cannot be made.
    CExtGridDataProviderMemory(IMalloc* pMallocData = NULL, IMalloc* pMallocCells = NULL,
                               IMalloc* pMallocSeries = NULL, ULONG nGranularity = 32);
    virtual ~CExtGridDataProviderMemory();

    virtual void Serialize(CArchive& ar) override;

    virtual void* MallocAlloc(ULONG nSize) override;
    virtual void MallocFree(void* pMemory) override;
    virtual bool ColumnInsert(ULONG nColNo, ULONG nInsertCount) override;
    virtual bool RowInsert(ULONG nRowNo, ULONG nInsertCount) override;
    virtual ULONG ColumnCountGet() override;
    virtual ULONG RowCountGet() override;
    using CExtGridDataProviderBL::ColumnCountGet;
    using CExtGridDataProviderBL::RowCountGet;
    virtual bool ColumnRemove(ULONG nColNo, ULONG nRemoveCount = 1) override;
    virtual bool RowRemove(ULONG nRowNo, ULONG nRemoveCount = 1) override;
    virtual void MinimizeMemoryUsage() override;
    virtual CExtGridCell* CellGet(ULONG nColNo, ULONG nRowNo, CRuntimeClass* pInitRTC = NULL,
                                  bool bAutoFindValue = true, bool bUseColumnDefaultValue = true) override;
    virtual bool CellRangeSet(ULONG nColNo, ULONG nRowNo, ULONG nColCount = 1, ULONG nRowCount = 1,
                              const CExtGridCell* pCellNewValue = NULL, bool bReplace = false,
                              CRuntimeClass* pInitRTC = NULL, bool bAutoFindValue = true,
                              bool bUseColumnDefaultValue = true, ULONG* p_nUpdatedCellsCount = NULL) override;
    virtual bool SortApply(bool bColumns, IDataProviderEvents* pDPE = NULL) override;
    virtual bool SortOrderSet(const CExtGridDataSortOrder& _gdso, bool bColumns,
                              IDataProviderEvents* pDPE = NULL) override;
    virtual bool SortOrderGet(CExtGridDataSortOrder& _gdso, bool bColumns) const override;
    virtual bool MoveColumnOrRow(bool bColumns, ULONG nFrom, ULONG nTo, IDataProviderEvents* pDPE = NULL) override;
    virtual IMalloc* GetCellAllocator() override;

    // True for an empty order or one whose every index names an existing row (bColumns)
    // or column.
    virtual bool SortOrderCheck(const CExtGridDataSortOrder& _gdso, bool bColumns);
    // Missing cells sort first: NULL against a cell gives -1.
    virtual int CompareCells(CExtGridCell* pCell1, CExtGridCell* pCell2);
    virtual int CompareSeries(ULONG nRowColNo1, ULONG nRowColNo2, bool bColumns,
                              const CExtGridDataSortOrder& _gdso);
    virtual bool SwapSeries(ULONG nRowColNo1, ULONG nRowColNo2, ULONG& nSwapCounter,
                            IDataProviderEvents* pDPE, bool bColumns);
    virtual bool QuickSort(bool bColumns, IDataProviderEvents* pDPE, const CExtGridDataSortOrder& _gdso,
                           ULONG& nSwapCounter, LONG nLow, LONG nHigh);

    ULONG GetGranularity() const { return m_nGranularity; }

    // The keeper asked before any cell is emptied, replaced or removed; NULL for none (not
    // owned). A change that would take a kept cell is refused whole: false, nothing changed.
    void CellKeeperSet(ICellKeeper* pKeeper) { m_pCellKeeper = pKeeper; }
    // Whether a kept cell lies in the rectangle (clipped to the store).
    bool CellRangeHoldsKept(ULONG nColNo, ULONG nRowNo, ULONG nColCount, ULONG nRowCount);

protected:
    // A column's array of cell pointers; with bCreate an absent one is made (all empty).
    CExtGridCell** _ColumnArrayGet(ULONG nColNo, bool bCreate);
    // Destroys a cell through the cell allocator.
    void _CellDestroy(CExtGridCell* pCell);
    // Destroys every cell and column array; with bFreeTable the table goes too and the
    // column count becomes 0.
    void _DestroyAllCells(bool bFreeTable);
    // A new cell for an empty slot, as CellGet and CellRangeSet make them; NULL on failure.
    CExtGridCell* _CellMake(ULONG nColNo, ULONG nRowNo, CRuntimeClass* pInitRTC, bool bAutoFindValue,
                            bool bUseColumnDefaultValue, const CExtGridCell* pCellSource);
    static IMalloc* stat_CreateAllocator(ULONG nItemsPerBlock);

    IMalloc* m_pMallocData;
    IMalloc* m_pMallocCells;
    IMalloc* m_pMallocSeries;
    ULONG m_nGranularity;
    ULONG m_nColCount;
    ULONG m_nRowCount;
    CExtGridCell*** m_pppSeries;
    CExtGridDataSortOrder m_gdsoColumns;
    CExtGridDataSortOrder m_gdsoRows;

private:
    // The keys of the series SortApply is sorting; NULL outside a sort and after any
    // change that could leave them stale (cells destroyed, series inserted, removed or
    // moved), when the sort goes on without them.
    CExtGridSortKeyTable* m_pSortKeys;
    ICellKeeper* m_pCellKeeper;

    CExtGridDataProviderMemory(const CExtGridDataProviderMemory&) = delete;
    CExtGridDataProviderMemory& operator=(const CExtGridDataProviderMemory&) = delete;
};
