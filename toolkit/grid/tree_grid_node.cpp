// The tree node cell: links, counts and the walks along the tree.
#include "toolkit/grid/tree_grid_node.h"

IMPLEMENT_SERIAL(CExtTreeGridCellNode, CExtGridCell, VERSIONABLE_SCHEMA | 1)

CExtTreeGridCellNode::CExtTreeGridCellNode(CExtGridDataProvider* pOwner)
    : CExtGCE<CExtGridCell>(pOwner),
      m_nContentWeightAll(0),
      m_nContentWeightExpanded(0),
      m_pNodeParent(NULL),
      m_pNodeNext(NULL),
      m_pNodePrev(NULL),
      m_nIndentPx(-1),
      m_nOptIndex(0),
      m_dwNodeFlags(0)
{
}

CExtTreeGridCellNode::~CExtTreeGridCellNode() {}

void CExtTreeGridCellNode::Assign(const CExtGridCell& other)
{
    // The value and the looks travel; the place in a tree does not.
    CExtGCE<CExtGridCell>::Assign(other);
    const CExtTreeGridCellNode* pNode = DYNAMIC_DOWNCAST(CExtTreeGridCellNode, const_cast<CExtGridCell*>(&other));
    if (pNode != NULL)
        m_nIndentPx = pNode->m_nIndentPx;
}

CExtGridCell* CExtTreeGridCellNode::Clone(IMalloc* pMalloc) const
{
    return ExtGridCellCloneAs<CExtTreeGridCellNode>(*this, pMalloc);
}

ULONG CExtTreeGridCellNode::TreeNodeGetDepth() const
{
    ULONG nDepth = 0;
    for (const CExtTreeGridCellNode* p = m_pNodeParent; p != NULL; p = p->m_pNodeParent)
        nDepth++;
    return nDepth;
}

INT CExtTreeGridCellNode::TreeNodeIndentPxGet() const { return m_nIndentPx; }

void CExtTreeGridCellNode::TreeNodeIndentPxSet(INT nIndentPx) { m_nIndentPx = nIndentPx < 0 ? -1 : nIndentPx; }

INT CExtTreeGridCellNode::TreeNodeGetButtonState() const
{
    if (m_arrChildren.GetSize() == 0)
        return 0;
    return TreeNodeIsExpanded() ? 1 : 2;
}

bool CExtTreeGridCellNode::TreeNodeIsDisplayed() const
{
    for (const CExtTreeGridCellNode* p = m_pNodeParent; p != NULL; p = p->m_pNodeParent)
        if (!p->TreeNodeIsExpanded())
            return false;
    return true;
}

bool CExtTreeGridCellNode::TreeNodeSetExpanded(bool bExpanded)
{
    if (TreeNodeIsExpanded() == bExpanded)
        return false;
    if (bExpanded)
        m_dwNodeFlags |= NODE_EXPANDED;
    else
        m_dwNodeFlags &= ~NODE_EXPANDED;
    return true;
}

bool CExtTreeGridCellNode::TreeNodeIsExpanded() const { return (m_dwNodeFlags & NODE_EXPANDED) != 0; }

ULONG CExtTreeGridCellNode::TreeNodeCalcOffset(bool bExpandedOnly) const
{
    ULONG nOffset = 0;
    for (const CExtTreeGridCellNode* p = this; p != NULL && p->m_pNodeParent != NULL; p = p->m_pNodeParent)
    {
        if (p != this)
            nOffset++;  // the ancestor's own row
        for (const CExtTreeGridCellNode* q = p->m_pNodePrev; q != NULL; q = q->m_pNodePrev)
            nOffset += 1 + (bExpandedOnly ? q->m_nContentWeightExpanded : q->m_nContentWeightAll);
    }
    return nOffset;
}

CExtTreeGridCellNode* CExtTreeGridCellNode::TreeNodeGetChildAt(ULONG nIndex) const
{
    return nIndex < (ULONG)m_arrChildren.GetSize() ? m_arrChildren[nIndex] : NULL;
}

ULONG CExtTreeGridCellNode::TreeNodeVisibleSubtreeSize() const
{
    ULONG nSize = (ULONG)m_arrChildren.GetSize();
    for (INT_PTR i = 0; i < m_arrChildren.GetSize(); i++)
        if (m_arrChildren[i]->TreeNodeIsExpanded())
            nSize += m_arrChildren[i]->m_nContentWeightExpanded;
    return nSize;
}

CExtTreeGridCellNode* CExtTreeGridCellNode::TreeNodeGetNext(bool bSiblingsOnly, bool bWalk, bool bDescend) const
{
    if (!bSiblingsOnly && bDescend && m_arrChildren.GetSize() > 0 && (!bWalk || TreeNodeIsExpanded()))
        return m_arrChildren[0];
    if (m_pNodeNext != NULL)
        return m_pNodeNext;
    if (bSiblingsOnly || !bWalk)
        return NULL;
    // Up to the nearest ancestor with a next sibling; the root's children end the walk.
    for (const CExtTreeGridCellNode* p = m_pNodeParent; p != NULL && p->m_pNodeParent != NULL; p = p->m_pNodeParent)
        if (p->m_pNodeNext != NULL)
            return p->m_pNodeNext;
    return NULL;
}

CExtTreeGridCellNode* CExtTreeGridCellNode::TreeNodeGetPrev(bool bSiblingsOnly, bool bExpandedOnly) const
{
    if (m_pNodePrev == NULL)
    {
        if (bSiblingsOnly || m_pNodeParent == NULL || m_pNodeParent->m_pNodeParent == NULL)
            return NULL;
        return m_pNodeParent;
    }
    if (bSiblingsOnly)
        return m_pNodePrev;
    CExtTreeGridCellNode* p = m_pNodePrev;
    while (p->m_arrChildren.GetSize() > 0 && (!bExpandedOnly || p->TreeNodeIsExpanded()))
        p = p->m_arrChildren[p->m_arrChildren.GetSize() - 1];
    return p;
}
