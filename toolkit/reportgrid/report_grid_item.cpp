// The report item: the node of one report row, with the preview cell it may own.
#include "toolkit/reportgrid/report_grid_data.h"
#include "toolkit/reportgrid/report_grid_wnd.h"

IMPLEMENT_SERIAL(CExtReportGridItem, CExtTreeGridCellNode, VERSIONABLE_SCHEMA | 1)

CExtReportGridItem::CExtReportGridItem(CExtGridDataProvider* pOwner)
    : CExtTreeGridCellNode(pOwner), m_pPreviewCell(NULL), m_pReportGrid(NULL)
{
}

CExtReportGridItem::~CExtReportGridItem() { PreviewCellDestroy(); }

IMalloc* CExtReportGridItem::FlatCellAllocator() const
{
    if (m_pReportGrid == NULL)
        return NULL;
    CExtTreeGridDataProvider* pTP = m_pReportGrid->GetTreeProvider();
    return pTP != NULL ? pTP->GetFlatProvider().GetCellAllocator() : NULL;
}

void CExtReportGridItem::PreviewCellDestroy()
{
    if (m_pPreviewCell == NULL || m_pReportGrid == NULL)
        return;
    CExtGridCell* pCell = m_pPreviewCell;
    m_pPreviewCell = NULL;
    CExtGridDataProviderBL* pOwner = DYNAMIC_DOWNCAST(CExtGridDataProviderBL, pCell->GetOwner());
    IMalloc* pMalloc = pOwner != NULL ? pOwner->GetCellAllocator() : FlatCellAllocator();
    CExtGridCell::InstanceDestroy(pCell, pMalloc);
}

CExtGridCell* CExtReportGridItem::PreviewCellGet(CRuntimeClass* pInitRTC)
{
    if (m_pPreviewCell != NULL || pInitRTC == NULL)
        return m_pPreviewCell;
    IMalloc* pMalloc = FlatCellAllocator();
    if (pMalloc == NULL)
        return NULL;
    CExtGridCell* pCell = CExtGridCell::InstanceCreate(pInitRTC, pMalloc, false);
    if (pCell == NULL)
        return NULL;
    pCell->SetOwner(&m_pReportGrid->GetTreeProvider()->GetFlatProvider());
    m_pPreviewCell = pCell;
    return pCell;
}

void CExtReportGridItem::Serialize(CArchive& ar)
{
    CExtTreeGridCellNode::Serialize(ar);
    if (ar.IsStoring())
    {
        if (m_pPreviewCell != NULL)
        {
            ar << (DWORD)1;
            CExtGridCell::InstanceSave(ar, m_pPreviewCell);
        }
        else
            ar << (DWORD)0;
        return;
    }
    PreviewCellDestroy();
    DWORD dwHas = 0;
    ar >> dwHas;
    if ((dwHas & 1) == 0)
        return;
    IMalloc* pMalloc = FlatCellAllocator();
    if (pMalloc == NULL)
        AfxThrowArchiveException(CArchiveException::genericException);
    m_pPreviewCell = CExtGridCell::InstanceLoad(ar, pMalloc, true);
    if (m_pPreviewCell != NULL)
        m_pPreviewCell->SetOwner(&m_pReportGrid->GetTreeProvider()->GetFlatProvider());
}

void CExtReportGridItem::Assign(const CExtGridCell& other)
{
    if (&other == this)
        return;
    PreviewCellDestroy();
    CExtTreeGridCellNode::Assign(other);
    CExtReportGridItem* pOther = DYNAMIC_DOWNCAST(CExtReportGridItem, const_cast<CExtGridCell*>(&other));
    if (pOther == NULL)
        return;
    CExtGridCell* pSource = pOther->PreviewCellGet(NULL);
    IMalloc* pMalloc = FlatCellAllocator();
    if (pSource != NULL && pMalloc != NULL)
        m_pPreviewCell = pSource->Clone(pMalloc);
}

// An item, with an allocator or without (then on the heap): read back without one, an
// item must still read its own fields. The grid link comes first, for the preview cell.
CExtGridCell* CExtReportGridItem::Clone(IMalloc* pMalloc) const
{
    CExtReportGridItem* pClone =
        pMalloc != NULL ? new (pMalloc) CExtReportGridItem(GetOwner()) : new CExtReportGridItem(GetOwner());
    if (pClone != NULL)
    {
        pClone->m_pReportGrid = m_pReportGrid;
        pClone->Assign(*this);
    }
    return pClone;
}

bool CExtReportGridItem::ExtraSpaceAccess(INT& nExtra, bool bGet, bool bAfter)
{
    nExtra = 0;
    if (!bGet || m_pReportGrid == NULL)
        return false;
    nExtra = m_pReportGrid->GetRowExtraSpace(this, bAfter);
    return true;
}

ULONG CExtReportGridItem::TreeNodeCalcOffset(bool bExpandedOnly) const
{
    // Without groups every row is a child of the root, in row order: the sibling index
    // is the row, with no walk over the siblings. The root's counts tell whether the
    // tree is flat even between a change of the sort order and the rebuild after it.
    const CExtTreeGridCellNode* pParent = TreeNodeGetParent();
    if (m_pReportGrid != NULL && pParent != NULL && pParent->TreeNodeGetParent() == NULL &&
        pParent->TreeNodeGetTotalCount() == pParent->TreeNodeGetChildCount())
        return TreeNodeGetSiblingIndex();
    if (m_pReportGrid != NULL && pParent == NULL)
        return 0;
    return CExtTreeGridCellNode::TreeNodeCalcOffset(bExpandedOnly);
}
