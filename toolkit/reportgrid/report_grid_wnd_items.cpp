// The report grid's items and its sorting entry points: registration and removal of
// items, the sort order, the rebuild after every change, and the update locks that hold
// back scrolling and scroll-bar updates while a rebuild or a removal is half done.
#include "toolkit/reportgrid/report_grid_wnd.h"
#include "toolkit/menus/popup_menu_tip_wnd.h"

void CExtReportGridWnd::LocksRaise()
{
    m_nLockScrollBars++;
    m_nLockColumnVisibility++;
    m_nLockRowVisibility++;
}

void CExtReportGridWnd::LocksDrop()
{
    m_nLockScrollBars--;
    m_nLockColumnVisibility--;
    m_nLockRowVisibility--;
}

// ---- sorting ----------------------------------------------------------------------------

const CExtReportGridSortOrder& CExtReportGridWnd::SortOrderGet() { return GetReportDataProvider().ReportSortOrderGet(); }

bool CExtReportGridWnd::SortOrderCheck(const CExtReportGridSortOrder& order, bool bNotify)
{
    const bool bTell = bNotify && m_hWnd != NULL && ::IsWindow(m_hWnd);
    if (!order.IsValid(this, true, true))
        return false;
    if (!GetReportDataProvider().ReportSortOrderCheck(order, bTell ? this : NULL))
        return false;
    if (order.GetGroupCount() > m_nMaxGroupByColumns)
    {
        if (bTell)
            OnGroupByLimitReached();
        return false;
    }
    return true;
}

bool CExtReportGridWnd::SortOrderSet(const CExtReportGridSortOrder& order, bool bNotify, bool bRedraw)
{
    // A copy: the order may be the provider's own, which the steps below change.
    const CExtReportGridSortOrder orderNew(order);
    if (!SortOrderCheck(orderNew, bNotify))
        return false;
    for (int i = 0; i < orderNew.GetGroupCount(); i++)
    {
        CExtReportGridColumn* pColumn = orderNew.ItemGet(i);
        if (pColumn->IsActive() && !ColumnActivate(pColumn, false, -1, false))
            return false;
    }
    const bool bTell = bNotify && m_hWnd != NULL && ::IsWindow(m_hWnd);
    if (!GetReportDataProvider().ReportSortOrderSet(orderNew, false, bTell ? this : NULL))
        return false;
    return RebuildItems(bRedraw);
}

void CExtReportGridWnd::OnRebuildDone()
{
    if ((m_dwReportStyle & __ERGS_EXPAND_AFTER_REBUILD) != 0)
        ItemExpandAll(ItemGetRoot(), TREE_EXPAND, false);
}

bool CExtReportGridWnd::RebuildItems(bool bRedraw)
{
    CExtReportGridDataProvider& dp = GetReportDataProvider();
    LocksRaise();
    CExtReportGridItem* pFocus = ItemFocusedGet();
    if (pFocus != NULL && pFocus->IsGroupRow())
        pFocus = NULL;  // group rows are made anew: only a leaf keeps the focus
    SelectionUnset(false, false);
    const POINT ptFocus = FocusGet();
    FocusUnset(false);
    const bool bRebuilt = dp.RebuildRows(this);
    if (bRebuilt)
        OnRebuildDone();
    SyncRowCount(false);
    if (!bRebuilt || m_hWnd == NULL || !::IsWindow(m_hWnd))
    {
        LocksDrop();
        return bRebuilt;
    }
    if (pFocus != NULL)
    {
        ItemFocusSet(ItemOf(pFocus), ptFocus.x, false);
        SelectionUnset(true, false);
    }
    if (!bRedraw)
    {
        LocksDrop();
        return true;
    }
    if (pFocus != NULL)
        ItemEnsureVisible(ItemOf(pFocus), true);
    LocksDrop();
    const POINT ptNow = FocusGet();
    if (ptNow.y >= 0)
        EnsureRowVisible(ptNow.y, false);
    CalcClientRect(NULL, true, NULL);
    UpdateScrollBars();
    if (ptNow.x >= 0)
        EnsureColumnVisible(ptNow.x, false);
    if (CExtPopupMenuTipWnd* pTip = GetSharedTipWnd())
        pTip->Hide();
    if (m_wndToolTip.m_hWnd != NULL)
        m_wndToolTip.Activate(FALSE), m_wndToolTip.Activate(TRUE);
    Redraw();
    if (IsGroupAreaVisible())
        m_pWndGroupArea->Invalidate();
    return true;
}

// ---- items ---------------------------------------------------------------------------------

bool CExtReportGridWnd::ItemsRegister(CTypedPtrArray<CPtrArray, CExtReportGridItem*>& arrItems, bool bUpdate,
                                      bool bRedraw)
{
    const INT_PTR nCount = arrItems.GetSize();
    if (nCount == 0)
        return true;
    CExtTreeGridDataProvider* pTP = GetTreeProvider();
    if (pTP == NULL)
        return false;
    CExtTreeGridCellNode* pRoot = NodeOf(ItemGetRoot());
    const ULONG nFirst = pRoot->TreeNodeGetChildCount();
    if (ItemInsert(NULL, ULONG(-1), (ULONG)nCount, false) == NULL)
        return false;
    for (INT_PTR i = 0; i < nCount; i++)
    {
        CExtReportGridItem* pItem = DYNAMIC_DOWNCAST(CExtReportGridItem, pRoot->TreeNodeGetChildAt(nFirst + (ULONG)i));
        if (pItem != NULL)
        {
            pItem->SetReportGrid(this);
            pItem->TreeNodeIndentPxSet(0);
        }
        arrItems[i] = pItem;
    }
    SelectionUnset(true, false);
    if (bUpdate)
        return RebuildItems(bRedraw);
    return true;
}

bool CExtReportGridWnd::ItemUnregister(CExtReportGridItem* pItem, bool bFocusNext, bool bRedraw)
{
    if (pItem == NULL || ItemOf(pItem) == ItemGetRoot() || !ItemIsOwn(pItem))
        return false;
    HTREEITEM hNext = NULL;
    if (bFocusNext && ItemFocusGet() == ItemOf(pItem))
        hNext = ItemGetNext(ItemOf(pItem), false, true, false);
    // A group row goes with its only item, and an emptied parent group with it.
    CExtTreeGridCellNode* pRemove = pItem;
    while (pRemove->TreeNodeGetParent() != NULL && pRemove->TreeNodeGetParent()->TreeNodeGetParent() != NULL &&
           pRemove->TreeNodeGetParent()->TreeNodeGetChildCount() == 1)
        pRemove = pRemove->TreeNodeGetParent();
    if (hNext != NULL)
    {
        // The next row must outlive the removal.
        for (CExtTreeGridCellNode* p = NodeOf(hNext); p != NULL; p = p->TreeNodeGetParent())
            if (p == pRemove)
            {
                hNext = NULL;
                break;
            }
    }
    ItemRemove(ItemOf(pRemove), false, false);
    if (hNext != NULL)
        ItemFocusSet(hNext, -1, false);
    else if (GetRowCount() > 0 && FocusGet().y < 0 && bFocusNext)
        ItemFocusSet(ItemGetByVisibleRow(GetRowCount() - 1), -1, false);
    SelectionUnset(true, false);
    if (bRedraw)
        UpdateAndRedraw();
    return true;
}

bool CExtReportGridWnd::ItemUnregisterAndFocusNext(CExtReportGridItem* pItem, bool bRedraw)
{
    return ItemUnregister(pItem, true, bRedraw);
}

void CExtReportGridWnd::ItemSelectRows(CExtReportGridItem* pItem)
{
    if (pItem == NULL)
        return;
    // Iterative over the subtree: group rows nest only as deep as the group-by columns,
    // but the walk needs no stack either way.
    const LONG nRow = ItemGetVisibleRow(ItemOf(pItem));
    if (nRow < 0)
        return;
    LONG nLast = nRow;
    if (pItem->TreeNodeIsExpanded())
        nLast = nRow + (LONG)pItem->TreeNodeGetVisibleCount();
    const int nLastCol = GetColumnCount() > 0 ? GetColumnCount() - 1 : 0;
    for (LONG r = nRow; r <= nLast; r++)
        if (!IsSelected(0, r))
            SelectionSet(CRect(0, r, nLastCol, r), false, false, false);
}

bool CExtReportGridWnd::ItemFindFocusAfterRemoval(CExtReportGridItem*& pItem, bool bRedraw)
{
    pItem = NULL;
    const int nRows = GetRowCount(), nCols = GetColumnCount();
    if (IsSelectionEmpty() || nRows <= 0 || nCols <= 0)
        return false;
    int nFirst = -1, nLast = -1;
    for (int r = 0; r < nRows; r++)
    {
        if (!IsSelected(0, r))
            continue;
        if (nFirst < 0)
            nFirst = r;
        CExtReportGridItem* pRow = ItemFromNode(ItemGetByVisibleRow(r));
        if (pRow != NULL && pRow->IsGroupRow())
        {
            ItemSelectRows(pRow);
            if (pRow->TreeNodeIsExpanded())
                r += (int)pRow->TreeNodeGetVisibleCount();
        }
        nLast = r < nRows ? r : nRows - 1;
    }
    if (nLast >= 0 && nLast + 1 < nRows)
        pItem = ItemFromNode(ItemGetByVisibleRow(nLast + 1));
    else if (nFirst > 0)
        pItem = ItemFromNode(ItemGetByVisibleRow(nFirst - 1));
    if (bRedraw)
        UpdateAndRedraw();
    return true;
}

bool CExtReportGridWnd::ItemsUnregisterSelected(bool bRedraw)
{
    CExtReportGridItem* pFocusAfter = NULL;
    if (IsSelectionEmpty() || GetRowCount() <= 0 || GetColumnCount() <= 0 ||
        !ItemFindFocusAfterRemoval(pFocusAfter, false))
        return false;
    LocksRaise();
    CTypedPtrArray<CPtrArray, CExtReportGridItem*> arrRemove;
    arrRemove.SetSize(0, 10);
    for (int r = 0, nRows = GetRowCount(); r < nRows; r++)
    {
        if (!IsSelected(0, r))
            continue;
        CExtReportGridItem* pRow = ItemFromNode(ItemGetByVisibleRow(r));
        if (pRow == NULL)
            continue;
        arrRemove.Add(pRow);
        if (pRow->IsGroupRow() && pRow->TreeNodeIsExpanded())
            r += (int)pRow->TreeNodeGetVisibleCount();
    }
    SelectionUnset(false, false);
    for (INT_PTR i = 0; i < arrRemove.GetSize(); i++)
        ItemUnregister(arrRemove[i], false, false);
    LocksDrop();
    const LONG nFocusRow = pFocusAfter != NULL && ItemIsOwn(pFocusAfter) ? ItemGetVisibleRow(ItemOf(pFocusAfter)) : -1;
    if (nFocusRow >= 0)
        ItemFocusSet(ItemOf(pFocusAfter), -1, false);
    else if (GetRowCount() > 0)
        FocusSet(POINT{FocusGet().x >= 0 ? FocusGet().x : 0, 0}, false, false, true, false);
    if (bRedraw && m_hWnd != NULL && ::IsWindow(m_hWnd))
    {
        UpdateScrollBars();
        if (FocusGet().y >= 0)
            EnsureRowVisible(FocusGet().y, true);
        Redraw();
    }
    return true;
}

bool CExtReportGridWnd::ItemIsOwn(const CExtReportGridItem* pItem)
{
    if (pItem == NULL)
        return false;
    const CExtTreeGridCellNode* p = pItem;
    while (p->TreeNodeGetParent() != NULL)
        p = p->TreeNodeGetParent();
    return ItemOf(const_cast<CExtTreeGridCellNode*>(p)) == ItemGetRoot();
}

CExtGridCell* CExtReportGridWnd::ItemCellGet(const CExtReportGridColumn* pColumn, CExtReportGridItem* pItem,
                                             CRuntimeClass* pInitRTC)
{
    if (pColumn == NULL || pItem == NULL)
        return NULL;
    return GetReportDataProvider().ItemCellGet(pColumn, pItem, pInitRTC);
}

CExtReportGridItem* CExtReportGridWnd::ItemFocusedGet() { return ItemFromNode(ItemFocusGet()); }

CExtReportGridItem* CExtReportGridWnd::ItemFromNode(HTREEITEM hItem)
{
    return hItem != NULL ? DYNAMIC_DOWNCAST(CExtReportGridItem, NodeOf(hItem)) : NULL;
}

// ---- overrides of the tree grid -------------------------------------------------------------------

int CExtReportGridWnd::ColumnExtentGet(bool bLeftBand, int nColNo, bool)
{
    return CExtTreeGridWnd::ColumnExtentGet(bLeftBand, nColNo, false);
}

int CExtReportGridWnd::RowExtentGet(bool bTopBand, int nRowNo, bool)
{
    return CExtTreeGridWnd::RowExtentGet(bTopBand, nRowNo, false);
}

int CExtReportGridWnd::GetColumnCount() const
{
    CExtReportGridWnd* pThis = const_cast<CExtReportGridWnd*>(this);
    CExtGridDataProvider* pDP = pThis->GetDataProvider();
    if (pDP == NULL)
        return 0;
    const LONG n = (LONG)pDP->ColumnCountGet() - GetLeftOuterColumnCount() - GetRightOuterColumnCount();
    return n > 0 ? (int)n : 0;
}

int CExtReportGridWnd::GetRowCount() const
{
    CExtReportGridWnd* pThis = const_cast<CExtReportGridWnd*>(this);
    CExtGridDataProvider* pDP = pThis->GetDataProvider();
    if (pDP == NULL)
        return 0;
    const LONG n = (LONG)pDP->RowCountGet() - GetTopOuterRowCount() - GetBottomOuterRowCount();
    return n > 0 ? (int)n : 0;
}

bool CExtReportGridWnd::EnsureColumnVisible(int nColumn, bool bRedraw)
{
    return m_nLockColumnVisibility == 0 && CExtTreeGridWnd::EnsureColumnVisible(nColumn, bRedraw);
}

bool CExtReportGridWnd::EnsureRowVisible(int nRow, bool bRedraw)
{
    return m_nLockRowVisibility == 0 && CExtTreeGridWnd::EnsureRowVisible(nRow, bRedraw);
}

bool CExtReportGridWnd::OnQuerySelected(int nColumn, int nRow)
{
    const bool bSelected = CExtTreeGridWnd::OnQuerySelected(nColumn, nRow);
    if (!IsFocusCellMode())
        return bSelected;
    // Focus-cell mode: the focused cell counts as selected only on a group row.
    const POINT ptFocus = FocusGet();
    if (ptFocus.x == nColumn && ptFocus.y == nRow)
    {
        const CExtReportGridItem* pItem = ItemFromNode(ItemGetByVisibleRow(nRow));
        return pItem != NULL && pItem->IsGroupRow();
    }
    return bSelected;
}

bool CExtReportGridWnd::IsSelected(int nColumn, int nRow)
{
    (void)nColumn;
    return CExtTreeGridWnd::IsSelected(0, nRow);
}

void CExtReportGridWnd::NormalizeSelectionRect(RECT& rc)
{
    CExtTreeGridWnd::NormalizeSelectionRect(rc);
    rc.left = 0;
    rc.right = GetColumnCount() > 0 ? GetColumnCount() - 1 : 0;
}

bool CExtReportGridWnd::SetSortOrder(bool, const CExtGridDataSortOrder&, bool, bool, bool)
{
    // The report grid sorts only through its report sort order.
    return true;
}

void CExtReportGridWnd::OnOuterCellDragRemove(const HIT_TEST_INFO& htiSource)
{
    if (htiSource.GetRowType() != -1 || htiSource.GetColumnType() != 0)
        return;
    CExtReportGridColumn* pColumn = DYNAMIC_DOWNCAST(CExtReportGridColumn, GridCellGet(htiSource.m_nColNo, 0, 0, -1));
    if (pColumn != NULL)
        ColumnActivate(pColumn, false, -1, true);
}

// A header dragged towards the group area follows the pointer's middle, as its buttons do.
bool CExtReportGridWnd::IsDragImageCentered() const { return true; }

// Group rows and the tree's indents are laid out again only when the size is applied;
// a layout pass while the tracker line is drawn would leave its trace behind.
void CExtReportGridWnd::OnResizeTrack(bool bStart, bool bFinish, const POINT* pPoint)
{
    LockUpdate();
    CExtTreeGridWnd::OnResizeTrack(bStart, bFinish, pPoint);
    m_nUpdateLock--;
}

void CExtReportGridWnd::OnCellValueChanged(CExtGridCell* pCell, LONG nRowNo, LONG nColNo, INT nRowType, INT nColType,
                                           DWORD dwReserved)
{
    CExtTreeGridWnd::OnCellValueChanged(pCell, nRowNo, nColNo, nRowType, nColType, dwReserved);
    if (m_hWnd == NULL || !::IsWindow(m_hWnd) || nRowType != 0 || nColType != 0 || SortOrderGet().IsEmpty())
        return;
    CExtReportGridColumn* pColumn = DYNAMIC_DOWNCAST(CExtReportGridColumn, GridCellGet(nColNo, 0, 0, -1));
    if (pColumn != NULL && pColumn->SortingEnabledGet() && SortOrderGet().IndexOf(pColumn) >= 0)
        RebuildItems(true);
}

bool CExtReportGridWnd::IsTreeColumn(LONG nColNo)
{
    if (m_pReportDP == NULL || SortOrderGet().GetGroupCount() == 0)
        return false;
    return CExtTreeGridWnd::IsTreeColumn(nColNo);
}

bool CExtReportGridWnd::OnCellEditStart(int nColumn, int nRow, int nColType, int nRowType, DWORD dwFlags,
                                        const RECT& rcExtent, const RECT& rcCell, const RECT& rcThird)
{
    if (nColType != 0 || nRowType != 0)
        return false;
    const CExtReportGridItem* pItem = ItemFromNode(ItemGetByVisibleRow(nRow));
    if (pItem != NULL && pItem->IsGroupRow())
        return false;
    return CExtTreeGridWnd::OnCellEditStart(nColumn, nRow, 0, 0, dwFlags, rcExtent, rcCell, rcThird);
}

bool CExtReportGridWnd::OnQueryCanCollapse(HTREEITEM hItem, LONG nColNo)
{
    if (!IsFocusCellMode() || nColNo <= 0)
        return true;
    const CExtReportGridItem* pItem = ItemFromNode(hItem);
    return pItem != NULL && pItem->IsGroupRow();
}

bool CExtReportGridWnd::OnQueryCanExpand(HTREEITEM hItem, LONG nColNo)
{
    if (!IsFocusCellMode() || nColNo <= 0)
        return true;
    const CExtReportGridItem* pItem = ItemFromNode(hItem);
    return pItem != NULL && pItem->IsGroupRow();
}

bool CExtReportGridWnd::OnQueryCellTextColor(LONG nColNo, LONG nRowNo, INT nColType, INT nRowType, COLORREF& clrText,
                                             bool* pbDisabled)
{
    if (CExtTreeGridWnd::OnQueryCellTextColor(nColNo, nRowNo, nColType, nRowType, clrText, pbDisabled))
        return true;
    const POINT ptFocus = FocusGet();
    if (!IsFocusCellMode() || nColType != 0 || nRowType != 0 || ptFocus.x != nColNo || ptFocus.y != nRowNo)
        return false;
    clrText = ::GetSysColor(COLOR_BTNTEXT);
    return true;
}
