// The report grid's model: the report sort order (group-by columns first, then sort
// columns), the report item (the node of one row, a data row or a group row) and the
// report data provider, which keeps the columns in the header row of its flat store
// (inactive columns in the reserved area, active ones shown) and computes the rows' tree
// from the flat items: ungroup, sort, regroup.
#pragma once
#include "toolkit/grid/tree_grid_data_provider.h"
#include "toolkit/grid/tree_grid_node.h"
#include "toolkit/reportgrid/report_grid_column.h"

class CExtReportGridWnd;

class CExtReportGridSortOrder : public CObject
{
    DECLARE_DYNCREATE(CExtReportGridSortOrder)
public:
    CExtReportGridSortOrder();
    CExtReportGridSortOrder(const CExtReportGridSortOrder& other);
    virtual ~CExtReportGridSortOrder();
    CExtReportGridSortOrder& operator=(const CExtReportGridSortOrder& other);
    bool operator==(const CExtReportGridSortOrder& other) const { return IsEqual(other); }
    bool operator!=(const CExtReportGridSortOrder& other) const { return !IsEqual(other); }

    virtual void Assign(const CExtReportGridSortOrder& other);
    virtual bool IsEqual(const CExtReportGridSortOrder& other) const;
    virtual void Empty();
    virtual bool IsEmpty() const;
    virtual int GetCount() const;
    virtual int GetGroupCount() const;
    virtual bool SetGroupCount(int nGroupCount);
    virtual CExtReportGridColumn* ItemGet(int nIndex, bool* pbAscending = NULL) const;
    virtual bool ItemSet(CExtReportGridColumn* pColumn, int nIndex, bool bAscending);
    virtual bool ItemInsert(CExtReportGridColumn* pColumn, int nIndex = -1, bool bAscending = true);
    virtual bool ItemRemove(int nIndex, int nCount = 1);
    virtual int IndexOf(const CExtReportGridColumn* pColumn) const;
    virtual bool IsValid(const CExtReportGridWnd* pWndReport, bool bNoDuplicates = true, bool bFurther = true) const;
    // Removes nCount entries from the column's position on; false when it is absent.
    bool ItemRemove(const CExtReportGridColumn* pColumn, int nCount = 1);

protected:
    CTypedPtrArray<CPtrArray, CExtReportGridColumn*> m_arrColumns;
    CArray<bool, bool> m_arrAscending;
    int m_nGroupCount;
};

class CExtReportGridItem : public CExtTreeGridCellNode
{
    DECLARE_SERIAL(CExtReportGridItem)
public:
    explicit CExtReportGridItem(CExtGridDataProvider* pOwner = NULL);
    virtual ~CExtReportGridItem();

    virtual void PreviewCellDestroy();
    // The preview cell; with a class, one is made when there is none.
    virtual CExtGridCell* PreviewCellGet(CRuntimeClass* pInitRTC = NULL);

    void Serialize(CArchive& ar) override;
    void Assign(const CExtGridCell& other) override;
    CExtGridCell* Clone(IMalloc* pMalloc = NULL) const override;
    bool ExtraSpaceAccess(INT& nExtra, bool bGet, bool bAfter) override;
    ULONG TreeNodeCalcOffset(bool bExpandedOnly) const override;

    // A group row has children; a data row has none.
    bool IsGroupRow() const { return TreeNodeGetChildCount() > 0; }
    CExtReportGridWnd* GetReportGrid() const { return m_pReportGrid; }
    void SetReportGrid(CExtReportGridWnd* pWndReport) { m_pReportGrid = pWndReport; }

protected:
    friend class CExtReportGridDataProvider;
    // The flat store's cell allocator, reached through the report grid; NULL without one.
    IMalloc* FlatCellAllocator() const;

    CExtGridCell* m_pPreviewCell;
    CExtReportGridWnd* m_pReportGrid;
};

class CExtReportGridDataProvider : public CExtTreeGridDataProvider
{
    DECLARE_DYNCREATE(CExtReportGridDataProvider)
public:
    CExtReportGridDataProvider();
    virtual ~CExtReportGridDataProvider();

    virtual CExtReportGridSortOrder& ReportSortOrderGet();
    virtual bool ReportSortOrderSet(const CExtReportGridSortOrder& order, bool bRebuild = true,
                                    CExtReportGridWnd* pWndReport = NULL);
    virtual bool RebuildRows(CExtReportGridWnd* pWndReport = NULL);
    virtual bool ReportSortOrderCheck(const CExtReportGridSortOrder& order, CExtReportGridWnd* pWndReport = NULL);
    virtual int InactiveColumnCountGet();
    virtual int ActiveColumnCountGet();
    virtual bool ColumnActivate(int nInactiveIndex, int nPos = -1);
    virtual bool ColumnDeactivate(int nActiveIndex, int nPos = -1);
    virtual int ActiveColumnIndexOf(const CExtReportGridColumn* pColumn);
    virtual int InactiveColumnIndexOf(const CExtReportGridColumn* pColumn);
    virtual CExtReportGridColumn* ActiveColumnGet(int nIndex);
    virtual CExtReportGridColumn* InactiveColumnGet(int nIndex);
    virtual CExtGridCell* ItemCellGet(const CExtReportGridColumn* pColumn, CExtReportGridItem* pItem,
                                      CRuntimeClass* pInitRTC = NULL);

    bool SortOrderGet(CExtGridDataSortOrder& _gdso, bool bColumns) const override;
    bool MoveColumnOrRow(bool bColumns, ULONG nFrom, ULONG nTo, IDataProviderEvents* pDPE = NULL) override;
    // The columns live in the first header row, where the provider reads them: a row put
    // above it, or a reservation that leaves no header row, would move registered columns
    // out of the grid's sight. Refused (false, nothing changed) while that row holds one.
    bool RowInsert(ULONG nRowNo, ULONG nInsertCount) override;
    bool OuterCellsReserve(ULONG nReservedColCount, ULONG nReservedRowCount) override;
    // A column is shown exactly while it lies among the shown columns: whoever moves it
    // between the two parts, its active flag moves with it.
    bool ColumnsMoveToOuter(ULONG nColNo, ULONG nCount, ULONG nOuterPos) override;
    bool ColumnsMoveToInner(ULONG nOuterPos, ULONG nCount, ULONG nColNo) override;

    // The flat column of a column (active or inactive); -1 when it is in neither part.
    LONG FlatColumnOf(const CExtReportGridColumn* pColumn);

protected:
    // The flat row of the header row the columns live in.
    ULONG HeaderFlatRow() const;
    // Whether a registered column lives in the header row.
    bool HeaderHoldsRegisteredColumn();
    // Sets the active flag of the columns now at these flat columns.
    void ActiveFlagsFollow(ULONG nFlatFirst, ULONG nCount, bool bActive);
    // Rebuild steps.
    void RebuildSortArrows();
    // Back to flat rows under the root; bTables rebuilds the node tables as well.
    void RebuildUngroup(bool bTables = true);
    // Asks ahead for the node of flat row r (none past the end) for a pass over the rows.
    void PrefetchNode(ULONG r);
    bool RebuildSort(const CExtGridDataSortOrder& keys);
    bool RebuildRegroup(const CArray<ULONG, ULONG>& arrGroupColumns, CExtReportGridWnd* pWndReport);
    // Children lists, links, both counts and the node tables from the parents' lists.
    void RebuildTables();
    ULONG RebuildCounts(CExtTreeGridCellNode* pNode, bool bShown);

    // A registered column is its own header cell: the flat store refuses to empty,
    // replace or remove it (a column, the header row or the cell alone, through this
    // provider or the flat store itself) until the grid has let it go (ColumnUnregister;
    // the grid's RemoveColumns does it first), since the grid still files, sorts and
    // groups by it. A value assigned into the cell goes through the column's own Assign.
    class CRegisteredColumnKeeper : public CExtGridDataProviderMemory::ICellKeeper
    {
    public:
        bool IsCellKept(const CExtGridCell* pCell) override;
    };
    CRegisteredColumnKeeper m_keeper;
    ULONG m_nNodeColumnCount;
    ULONG m_nHeaderRowCount;
    CExtReportGridSortOrder m_rgso;
};
