// CExtTreeGridDataProvider: the data provider of a tree grid. Every cell lives in an owned
// memory provider (the flat provider) whose rows hold, in this order, the tree
// provider's own outer rows (the first holds the root), the grid's outer rows and one row
// per node in full tree order; its columns hold the tree provider's own outer columns
// and then the grid's columns as the grid numbers them (left outer, right outer, inner).
// The nodes are the cells of flat column 0. The grid sees only the shown nodes as rows.
//
// Node rows are made and removed by TreeNodeInsert and TreeNodeRemove only; the rows of
// a tree are not sorted or moved through the provider interface (that would tear the
// rows from their nodes), so SortApply and a sort order that is not empty answer false.
// The same holds for the flat provider itself, which GetFlatProvider hands out: what
// reaches it from outside the tree may change cells and the grid's columns, but not the
// node column or the rows (CFlatProvider).
#pragma once
#include "toolkit/grid/grid_data_provider.h"
#include "toolkit/grid/tree_grid_node.h"

class CExtTreeGridDataProvider : public CExtGridDataProvider
{
    DECLARE_DYNAMIC(CExtTreeGridDataProvider)
public:
    // The flat provider of a tree. The tree finds a node's cells by the node's place: the
    // node is the cell of flat column 0 in the row of its place in the whole tree, counted
    // after the reserved rows, the root is flat cell (0, 0), and every row is the tree's
    // own, a grid outer row reserved through the tree provider, or a node's. A change
    // that would free or move the node column or any row, or re-place the rows by another
    // reservation, would leave the tree reading freed cells or another node's, so it is
    // refused whole (false, nothing changed) unless the tree makes it itself (CTreeChange).
    // The column is also kept out of column sorts: the reserved columns cover at least
    // the tree's own. It keeps the memory provider's run-time class and comparison.
    // The columns lie in bands by place: the node column, the tree's other own columns,
    // the grid's outer columns, its inner ones. A kept cell (the keeper's, a report grid's
    // registered column) is filed by its band, which the counts of the tree and of the
    // reservation say and only the tree changes with the filing; so a change from outside
    // that would carry a column holding one into another band (a column put in, taken out
    // or moved before a band's end, two exchanged, another reservation) is refused whole.
    // Moves inside a band, and columns that hold no kept cell, stay open.
    class CFlatProvider : public CExtGridDataProviderMemory
    {
    public:
        explicit CFlatProvider(CExtTreeGridDataProvider& tree);

        bool ColumnInsert(ULONG nColNo, ULONG nInsertCount) override;
        bool RowInsert(ULONG nRowNo, ULONG nInsertCount) override;
        bool ColumnRemove(ULONG nColNo, ULONG nRemoveCount = 1) override;
        bool RowRemove(ULONG nRowNo, ULONG nRemoveCount = 1) override;
        bool CellRangeSet(ULONG nColNo, ULONG nRowNo, ULONG nColCount = 1, ULONG nRowCount = 1,
                          const CExtGridCell* pCellNewValue = NULL, bool bReplace = false,
                          CRuntimeClass* pInitRTC = NULL, bool bAutoFindValue = true,
                          bool bUseColumnDefaultValue = true, ULONG* p_nUpdatedCellsCount = NULL) override;
        bool OuterCellsReserve(ULONG nReservedColCount, ULONG nReservedRowCount) override;
        bool SortOrderSet(const CExtGridDataSortOrder& _gdso, bool bColumns, IDataProviderEvents* pDPE = NULL) override;
        bool MoveColumnOrRow(bool bColumns, ULONG nFrom, ULONG nTo, IDataProviderEvents* pDPE = NULL) override;
        bool SwapSeries(ULONG nRowColNo1, ULONG nRowColNo2, ULONG& nSwapCounter, IDataProviderEvents* pDPE,
                        bool bColumns) override;

    private:
        // Whether the node column and the rows are the tree's to change alone now: the
        // tree has its root and is not changing them itself.
        bool KeepsTree() const;
        // Whether moving or exchanging these series would move the node column or a row.
        bool MovesTree(bool bColumns, ULONG nFirst, ULONG nSecond) const;
        // The band of a flat column under a reservation of nReservedCols columns: 0 the
        // node column, 1 the tree's other own columns, 2 the grid's outer, 3 its inner.
        ULONG ColumnBand(ULONG nColNo, ULONG nReservedCols) const;
        // Whether column nColNo holds a kept cell and would land at nNewColNo, under a
        // reservation of nNewReservedCols, in another band than it lies in now.
        bool CarriesKeptAcross(ULONG nColNo, ULONG nNewColNo, ULONG nNewReservedCols);
        // Whether the columns nFirst..nEnd-1 moved by nShift places carry a kept cell
        // across a band's end.
        bool ShiftCarriesKeptAcross(ULONG nFirst, ULONG nEnd, LONG nShift);
        ULONG ReservedColumns() const;

        CExtTreeGridDataProvider& m_tree;
    };

    CExtTreeGridDataProvider();
    virtual ~CExtTreeGridDataProvider();

    // ---- the tree --------------------------------------------------------------------
    virtual CExtTreeGridCellNode* TreeNodeGetRoot();
    // The node shown on an inner grid row; NULL outside the shown rows.
    virtual CExtTreeGridCellNode* TreeNodeGetByRow(ULONG nRowNo);
    // The indent of the tree column on an inner grid row.
    virtual INT RowIndentGet(ULONG nRowNo);
    virtual CExtTreeGridCellNode* TreeNodeInsert(CExtTreeGridCellNode* pNodeParent, ULONG nPos = ULONG(-1),
                                                 ULONG nCount = 1);
    // Removes a node with everything below it (or only what lies below it); the number
    // of nodes removed.
    virtual ULONG TreeNodeRemove(CExtTreeGridCellNode* pNode, bool bChildrenOnly = false);
    // nCode: 1 collapse, 2 expand, 3 toggle. False when nothing changed.
    virtual bool TreeNodeExpand(CExtTreeGridCellNode* pNode, INT nCode);
    virtual ULONG VisibleRowCountGet();
    virtual ULONG FlatColumnGet(ULONG nColNo);
    // Throws the invalid-argument exception for a row that is neither an outer row of the
    // grid nor a shown node.
    virtual ULONG FlatRowGet(ULONG nRowNo);
    virtual ULONG OuterColumnCountGet() const;
    virtual bool OuterColumnCountSet(ULONG nCount);
    virtual bool ColumnsMoveToOuter(ULONG nColNo, ULONG nCount, ULONG nOuterPos);
    virtual bool ColumnsMoveToInner(ULONG nOuterPos, ULONG nCount, ULONG nColNo);
    virtual ULONG OuterRowCountGet() const;
    virtual bool OuterRowCountSet(ULONG nCount);
    virtual CExtGridDataProviderMemory& GetFlatProvider();
    virtual CRuntimeClass* NodeClassGet();
    virtual void OnNodeCreated(CExtTreeGridCellNode* pNode);
    // The cell of a node in a grid column numbered as the grid numbers its provider
    // columns (left outer, right outer, inner); NULL for the root.
    virtual CExtGridCell* TreeNodeCellGet(CExtTreeGridCellNode* pNode, ULONG nColNo, CRuntimeClass* pInitRTC = NULL,
                                          bool bAutoFindValue = true, bool bUseColumnDefaultValue = true);
    INT IndentDefaultGet() const { return m_nIndentPxDefault; }
    void IndentDefaultSet(INT nIndentPx) { m_nIndentPxDefault = nIndentPx < 0 ? 0 : nIndentPx; }
    // The row shown for a node (inner grid row), -1 when it is not shown.
    LONG TreeNodeGetRow(CExtTreeGridCellNode* pNode);

    // ---- the provider interface, forwarded to the flat provider -------------------------
    void* MallocAlloc(ULONG nSize) override;
    void MallocFree(void* pMemory) override;
    bool ColumnInsert(ULONG nColNo, ULONG nInsertCount) override;
    bool RowInsert(ULONG nRowNo, ULONG nInsertCount) override;
    ULONG ColumnCountGet() override;
    ULONG RowCountGet() override;
    using CExtGridDataProvider::ColumnCountGet;
    using CExtGridDataProvider::RowCountGet;
    bool ColumnRemove(ULONG nColNo, ULONG nRemoveCount = 1) override;
    bool RowRemove(ULONG nRowNo, ULONG nRemoveCount = 1) override;
    void MinimizeMemoryUsage() override;
    bool RowDefaultCellSet(ULONG nRowNo, const CExtGridCell* pCell) override;
    bool ColumnDefaultCellSet(ULONG nColNo, const CExtGridCell* pCell) override;
    void RowDefaultCellsRemoveAll() override;
    void ColumnDefaultCellsRemoveAll() override;
    CExtGridCell* RowDefaultCellGet(ULONG nRowNo) override;
    CExtGridCell* ColumnDefaultCellGet(ULONG nColNo) override;
    CExtGridCell* CellGet(ULONG nColNo, ULONG nRowNo, CRuntimeClass* pInitRTC = NULL, bool bAutoFindValue = true,
                          bool bUseColumnDefaultValue = true) override;
    bool CellRangeSet(ULONG nColNo, ULONG nRowNo, ULONG nColCount = 1, ULONG nRowCount = 1,
                      const CExtGridCell* pCellNewValue = NULL, bool bReplace = false, CRuntimeClass* pInitRTC = NULL,
                      bool bAutoFindValue = true, bool bUseColumnDefaultValue = true,
                      ULONG* p_nUpdatedCellsCount = NULL) override;
    bool OuterCellsReserve(ULONG nReservedColCount, ULONG nReservedRowCount) override;
    void OuterCellsReservedGet(ULONG* p_nReservedColCount = NULL, ULONG* p_nReservedRowCount = NULL) const override;
    LONG IconCountGet() const override;
    CExtCmdIcon* IconGet(LONG nPos) const override;
    LONG IconInsert(CExtCmdIcon* pIcon, LONG nPos = -1, bool bCopyIcon = true) override;
    LONG IconRemove(LONG nPos = 0, LONG nCount = -1) override;
    LONG FontCountGet() const override;
    HFONT FontGet(LONG nPos) const override;
    LONG FontInsert(HFONT hFont, LONG nPos = -1, bool bCopyFont = true) override;
    LONG FontRemove(LONG nPos = 0, LONG nCount = -1) override;
    bool SortApply(bool bColumns, IDataProviderEvents* pDPE = NULL) override;
    bool SortOrderSet(const CExtGridDataSortOrder& _gdso, bool bColumns, IDataProviderEvents* pDPE = NULL) override;
    bool SortOrderGet(CExtGridDataSortOrder& _gdso, bool bColumns) const override;
    bool MoveColumnOrRow(bool bColumns, ULONG nFrom, ULONG nTo, IDataProviderEvents* pDPE = NULL) override;

protected:
    // Held while the tree itself moves or frees node rows or re-places them through its
    // flat provider, which refuses that to everyone else.
    class CTreeChange
    {
    public:
        explicit CTreeChange(CExtTreeGridDataProvider& tree) : m_tree(tree) { m_tree.m_nTreeChanges++; }
        ~CTreeChange() { m_tree.m_nTreeChanges--; }

    private:
        CTreeChange(const CTreeChange&) = delete;
        CTreeChange& operator=(const CTreeChange&) = delete;
        CExtTreeGridDataProvider& m_tree;
    };

    // Grid outer rows: the flat provider's reserved rows less the tree's own.
    ULONG GridOuterRows() const;
    // Grid outer columns: the flat provider's reserved columns less the tree's own.
    ULONG GridOuterColumns() const;
    // Whether columns put in (or taken out) at a grid column are the grid's outer ones
    // that its last reservation asked for, at the end of the outer columns held now.
    bool IsOuterColumnChange(ULONG nColNo, ULONG nCount, bool bInsert);
    // The first inner column of the flat provider and the number of inner columns; false
    // (none) when its reservation reaches past its last column.
    bool InnerColumnsGet(ULONG& nFirstInner, ULONG& nInner);
    // Moves the flat provider's reservation along with outer rows or columns put in or
    // taken out.
    void FlatReservationShift(LONG nCols, LONG nRows);
    ULONG FlatReservedRows() const;
    // A grid row that is an outer row of the grid or a shown node.
    bool IsRowShown(ULONG nRowNo);
    // Adds to the total count of pNode and every ancestor, and to the shown count of
    // pNode and of the ancestors reached through expanded nodes.
    void AdjustCounts(CExtTreeGridCellNode* pNode, LONG nTotal, LONG nVisible);
    // The shown subtree of a node in display order.
    void CollectShown(CExtTreeGridCellNode* pNode, CExtTreeGridCellNode::NodeArray& arr);
    void Relink(CExtTreeGridCellNode* pParent, INT_PTR nFrom);
    // After a removal: nodes without children lose their expanded flag (the root keeps it).
    void Recount(CExtTreeGridCellNode* pNode);
    // Index in a node array from a place computed by offsets, checked.
    static bool InRange(ULONG nIndex, ULONG nCount, ULONG nSize) { return nIndex <= nSize && nCount <= nSize - nIndex; }

    CFlatProvider m_DP;
    CExtTreeGridCellNode* m_pCellRoot;
    CExtTreeGridCellNode::NodeArray m_arrGridRef;  // every node, full tree order
    CExtTreeGridCellNode::NodeArray m_arrGridVis;  // shown nodes, display order
    ULONG m_nReservedColCount;
    ULONG m_nReservedRowCount;
    CRuntimeClass* m_pNodeRTC;
    INT m_nIndentPxDefault;
    int m_nTreeChanges;
    // The grid's outer counts as its last reservation asked; the flat provider's
    // reservation holds those that are there.
    ULONG m_nGridColsAsked;
    ULONG m_nGridRowsAsked;
};
