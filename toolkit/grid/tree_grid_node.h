// CExtTreeGridCellNode: a grid cell that is also a node of a tree. The tree grid's
// provider keeps one such cell per row (in its first flat column, the root in its first
// flat row); the node knows its parent, children and siblings, whether it is expanded,
// and how many nodes lie below it in all and how many of them are shown.
#pragma once
#include "toolkit/grid/grid_cell.h"
#include "toolkit/grid/grid_cell_layers.h"

class CExtTreeGridCellNode : public CExtGCE<CExtGridCell>
{
    DECLARE_SERIAL(CExtTreeGridCellNode)
public:
    typedef CTypedPtrArray<CPtrArray, CExtTreeGridCellNode*> NodeArray;

    explicit CExtTreeGridCellNode(CExtGridDataProvider* pOwner = NULL);
    virtual ~CExtTreeGridCellNode();

    void Assign(const CExtGridCell& other) override;
    CExtGridCell* Clone(IMalloc* pMalloc = NULL) const override;

    // Number of ancestors; 0 for the root.
    virtual ULONG TreeNodeGetDepth() const;
    // The node's own indent in pixels; -1 takes the provider's default.
    virtual INT TreeNodeIndentPxGet() const;
    virtual void TreeNodeIndentPxSet(INT nIndentPx);
    // 0 without children, 1 expanded, 2 collapsed.
    virtual INT TreeNodeGetButtonState() const;
    // Every ancestor expanded (the root is always displayed).
    virtual bool TreeNodeIsDisplayed() const;
    // Sets the flag only; the provider moves the rows. Result: whether it changed.
    virtual bool TreeNodeSetExpanded(bool bExpanded);
    virtual bool TreeNodeIsExpanded() const;
    // Rows above this node in the whole tree (or, bExpandedOnly, in the shown tree),
    // counted from the first node below the root.
    virtual ULONG TreeNodeCalcOffset(bool bExpandedOnly) const;

    CExtTreeGridCellNode* TreeNodeGetNext(bool bSiblingsOnly, bool bWalk, bool bDescend) const;
    CExtTreeGridCellNode* TreeNodeGetPrev(bool bSiblingsOnly, bool bExpandedOnly) const;
    CExtTreeGridCellNode* TreeNodeGetParent() const { return m_pNodeParent; }
    ULONG TreeNodeGetChildCount() const { return (ULONG)m_arrChildren.GetSize(); }
    // NULL outside the children.
    CExtTreeGridCellNode* TreeNodeGetChildAt(ULONG nIndex) const;
    ULONG TreeNodeGetSiblingIndex() const { return m_nOptIndex; }
    ULONG TreeNodeGetTotalCount() const { return m_nContentWeightAll; }
    ULONG TreeNodeGetVisibleCount() const { return m_nContentWeightExpanded; }
    // Rows of the shown subtree: the children and, below each expanded child, its own.
    ULONG TreeNodeVisibleSubtreeSize() const;

protected:
    friend class CExtTreeGridDataProvider;
    friend class CExtReportGridDataProvider;  // regroups nodes in place
    ULONG m_nContentWeightAll;
    ULONG m_nContentWeightExpanded;
    NodeArray m_arrChildren;
    CExtTreeGridCellNode* m_pNodeParent;
    CExtTreeGridCellNode* m_pNodeNext;
    CExtTreeGridCellNode* m_pNodePrev;
    INT m_nIndentPx;
    ULONG m_nOptIndex;
    DWORD m_dwNodeFlags;
    enum : DWORD { NODE_EXPANDED = 0x1 };
};
