// The tree grid window: items as node handles, the row count that follows the shown
// nodes, the indent and outline of the tree column, expand and collapse by mouse and
// keyboard, and row extents kept in the nodes.
#include "toolkit/grid/tree_grid_wnd.h"
#include <algorithm>
#include <vector>
#include "toolkit/theme/pm_glyphs.h"

IMPLEMENT_DYNCREATE(CExtTreeGridWnd, CExtGridWnd)

namespace {

INT StepOf(const CExtTreeGridCellNode* pNode, INT nDefault)
{
    const INT n = pNode->TreeNodeIndentPxGet();
    return n < 0 ? nDefault : n;
}

// The node and its ancestors below the root, the top-level one first.
std::vector<CExtTreeGridCellNode*> ChainOf(CExtTreeGridCellNode* pNode)
{
    std::vector<CExtTreeGridCellNode*> arr;
    for (CExtTreeGridCellNode* p = pNode; p != NULL && p->TreeNodeGetParent() != NULL; p = p->TreeNodeGetParent())
        arr.push_back(p);
    std::reverse(arr.begin(), arr.end());
    return arr;
}

}  // namespace

CExtTreeGridWnd::CExtTreeGridWnd() : m_nUpdateLock(0), m_nTreeFlags(0x2) {}

CExtTreeGridWnd::~CExtTreeGridWnd() {}

CExtGridDataProvider* CExtTreeGridWnd::GetDataProvider()
{
    if (m_pDataProvider != NULL)
        return m_pDataProvider;
    try
    {
        m_pDataProvider = new CExtTreeGridDataProvider;
    }
    catch (CException* pException)
    {
        // The flat provider throws when it cannot make its allocators: no provider then.
        pException->Delete();
        m_pDataProvider = NULL;
    }
    return m_pDataProvider;
}

CExtTreeGridDataProvider* CExtTreeGridWnd::GetTreeProvider()
{
    return DYNAMIC_DOWNCAST(CExtTreeGridDataProvider, GetDataProvider());
}

void CExtTreeGridWnd::SyncRowCount(bool bRedraw)
{
    CExtTreeGridDataProvider* pTP = GetTreeProvider();
    const int nRows = pTP != NULL ? (int)pTP->VisibleRowCountGet() : 0;
    CExtGridBaseWnd::SetRowCount(nRows, false);
    if (bRedraw && ::IsWindow(m_hWnd))
    {
        UpdateScrollBars();
        Redraw();
    }
}

void CExtTreeGridWnd::UnlockUpdate()
{
    if (m_nUpdateLock > 0 && --m_nUpdateLock == 0 && ::IsWindow(m_hWnd))
    {
        UpdateScrollBars();
        Redraw();
    }
}

// ---- items ------------------------------------------------------------------------------

HTREEITEM CExtTreeGridWnd::ItemGetRoot()
{
    CExtTreeGridDataProvider* pTP = GetTreeProvider();
    return pTP != NULL ? ItemOf(pTP->TreeNodeGetRoot()) : NULL;
}

HTREEITEM CExtTreeGridWnd::ItemGetByVisibleRow(LONG nRowNo)
{
    CExtTreeGridDataProvider* pTP = GetTreeProvider();
    return pTP != NULL && nRowNo >= 0 ? ItemOf(pTP->TreeNodeGetByRow((ULONG)nRowNo)) : NULL;
}

HTREEITEM CExtTreeGridWnd::ItemGetParent(HTREEITEM hItem)
{
    return hItem != NULL ? ItemOf(NodeOf(hItem)->TreeNodeGetParent()) : NULL;
}

HTREEITEM CExtTreeGridWnd::ItemGetNext(HTREEITEM hItem, bool bSiblingsOnly, bool bWalk, bool bDescend)
{
    return hItem != NULL ? ItemOf(NodeOf(hItem)->TreeNodeGetNext(bSiblingsOnly, bWalk, bDescend)) : NULL;
}

HTREEITEM CExtTreeGridWnd::ItemGetPrev(HTREEITEM hItem, bool bSiblingsOnly, bool bExpandedOnly)
{
    return hItem != NULL ? ItemOf(NodeOf(hItem)->TreeNodeGetPrev(bSiblingsOnly, bExpandedOnly)) : NULL;
}

LONG CExtTreeGridWnd::ItemGetChildCount(HTREEITEM hItem)
{
    return hItem != NULL ? (LONG)NodeOf(hItem)->TreeNodeGetChildCount() : 0;
}

HTREEITEM CExtTreeGridWnd::ItemGetChildAt(HTREEITEM hItem, LONG nIndex)
{
    if (hItem == NULL)
        return NULL;
    if (nIndex < 0 || nIndex >= ItemGetChildCount(hItem))
        AfxThrowInvalidArgException();
    return ItemOf(NodeOf(hItem)->TreeNodeGetChildAt((ULONG)nIndex));
}

HTREEITEM CExtTreeGridWnd::ItemGetParentFirstSibling(HTREEITEM hItem)
{
    return ItemGetFirstSibling(ItemGetParent(hItem));
}

HTREEITEM CExtTreeGridWnd::ItemGetParentLastSibling(HTREEITEM hItem)
{
    return ItemGetLastSibling(ItemGetParent(hItem));
}

HTREEITEM CExtTreeGridWnd::ItemGetFirstSibling(HTREEITEM hItem)
{
    HTREEITEM hParent = ItemGetParent(hItem);
    return hParent != NULL ? ItemOf(NodeOf(hParent)->TreeNodeGetChildAt(0)) : NULL;
}

HTREEITEM CExtTreeGridWnd::ItemGetLastSibling(HTREEITEM hItem)
{
    HTREEITEM hParent = ItemGetParent(hItem);
    if (hParent == NULL)
        return NULL;
    const ULONG nCount = NodeOf(hParent)->TreeNodeGetChildCount();
    return nCount > 0 ? ItemOf(NodeOf(hParent)->TreeNodeGetChildAt(nCount - 1)) : NULL;
}

HTREEITEM CExtTreeGridWnd::ItemInsert(HTREEITEM hParent, ULONG nPos, ULONG nCount, bool bRedraw)
{
    CExtTreeGridDataProvider* pTP = GetTreeProvider();
    if (pTP == NULL)
        return NULL;
    CExtTreeGridCellNode* pNode = pTP->TreeNodeInsert(NodeOf(hParent), nPos, nCount);
    SyncRowCount(bRedraw);
    return ItemOf(pNode);
}

ULONG CExtTreeGridWnd::ItemRemove(HTREEITEM hItem, bool bChildrenOnly, bool bRedraw)
{
    CExtTreeGridDataProvider* pTP = GetTreeProvider();
    if (pTP == NULL || hItem == NULL)
        return 0;
    // The focused row may be about to go; its index would name another item after.
    FocusUnset(false);
    const ULONG nRemoved = pTP->TreeNodeRemove(NodeOf(hItem), bChildrenOnly);
    SyncRowCount(bRedraw);
    return nRemoved;
}

CExtGridCell* CExtTreeGridWnd::ItemGetCell(HTREEITEM hItem, LONG nColNo, INT nColType, CRuntimeClass* pInitRTC,
                                           bool bAutoFindValue, bool bUseColumnDefaultValue)
{
    CExtTreeGridDataProvider* pTP = GetTreeProvider();
    if (pTP == NULL || hItem == NULL || hItem == ItemGetRoot() || nColNo < 0)
        return NULL;
    const LONG nLeft = GetLeftOuterColumnCount(), nRight = GetRightOuterColumnCount();
    const LONG nBand = nColType < 0 ? nLeft : (nColType > 0 ? nRight : GetColumnCount());
    if (nColNo >= nBand)
        return NULL;
    // The provider column as the grid numbers it: left band, right band, inner columns.
    const LONG nProviderCol = nColType < 0 ? nColNo : (nColType > 0 ? nLeft + nColNo : nLeft + nRight + nColNo);
    return pTP->TreeNodeCellGet(NodeOf(hItem), (ULONG)nProviderCol, pInitRTC, bAutoFindValue, bUseColumnDefaultValue);
}

INT CExtTreeGridWnd::ItemGetButtonState(HTREEITEM hItem)
{
    return hItem != NULL ? NodeOf(hItem)->TreeNodeGetButtonState() : 0;
}

LONG CExtTreeGridWnd::ItemGetVisibleRow(HTREEITEM hItem)
{
    CExtTreeGridDataProvider* pTP = GetTreeProvider();
    return pTP != NULL ? pTP->TreeNodeGetRow(NodeOf(hItem)) : -1;
}

bool CExtTreeGridWnd::ItemExpand(HTREEITEM hItem, INT nCode, bool bRedraw)
{
    CExtTreeGridDataProvider* pTP = GetTreeProvider();
    if (pTP == NULL || hItem == NULL || !pTP->TreeNodeExpand(NodeOf(hItem), nCode))
        return false;
    SyncRowCount(false);
    const POINT ptFocus = FocusGet();
    const LONG nRow = ItemGetVisibleRow(hItem);
    if (ptFocus.y < 0 || nRow < 0)
        ItemFocusSet(hItem, ptFocus.x, false);
    else
        FocusSet(POINT{ptFocus.x, nRow}, false, true, true, false);
    if (bRedraw && ::IsWindow(m_hWnd))
    {
        UpdateScrollBars();
        Redraw();
    }
    return true;
}

void CExtTreeGridWnd::ItemExpandAll(HTREEITEM hItem, INT nCode, bool bRedraw)
{
    CExtTreeGridDataProvider* pTP = GetTreeProvider();
    if (pTP == NULL || hItem == NULL)
        return;
    // Children before their parents, so each parent shows its children as they end up.
    struct Walk
    {
        CExtTreeGridDataProvider* pTP;
        INT nCode;
        void Below(CExtTreeGridCellNode* pNode)
        {
            for (ULONG i = 0; i < pNode->TreeNodeGetChildCount(); i++)
            {
                CExtTreeGridCellNode* pChild = pNode->TreeNodeGetChildAt(i);
                Below(pChild);
                pTP->TreeNodeExpand(pChild, nCode);
            }
        }
    } walk = {pTP, nCode};
    walk.Below(NodeOf(hItem));
    if (hItem != ItemGetRoot())
        ItemExpand(hItem, nCode, false);
    SyncRowCount(bRedraw);
}

HTREEITEM CExtTreeGridWnd::ItemFocusGet()
{
    const POINT ptFocus = FocusGet();
    return ptFocus.y >= 0 ? ItemGetByVisibleRow(ptFocus.y) : NULL;
}

bool CExtTreeGridWnd::ItemEnsureVisible(HTREEITEM hItem, bool bRedraw)
{
    CExtTreeGridDataProvider* pTP = GetTreeProvider();
    if (pTP == NULL || hItem == NULL || hItem == ItemGetRoot())
        return false;
    const std::vector<CExtTreeGridCellNode*> arrChain = ChainOf(NodeOf(hItem));
    for (size_t i = 0; i + 1 < arrChain.size(); i++)
        pTP->TreeNodeExpand(arrChain[i], TREE_EXPAND);
    SyncRowCount(false);
    const LONG nRow = ItemGetVisibleRow(hItem);
    if (nRow < 0)
        return false;
    EnsureRowVisible(nRow, false);
    if (bRedraw && ::IsWindow(m_hWnd))
    {
        UpdateScrollBars();
        Redraw();
    }
    return true;
}

bool CExtTreeGridWnd::ItemFocusSet(HTREEITEM hItem, LONG nColNo, bool bRedraw)
{
    if (hItem == NULL)
    {
        FocusUnset(bRedraw);
        SelectionUnset(false, bRedraw);
        return true;
    }
    const POINT ptFocus = FocusGet();
    if (hItem == ItemFocusGet() && nColNo == ptFocus.x)
        return false;
    if (!ItemEnsureVisible(hItem, false))
        return false;
    const LONG nRow = ItemGetVisibleRow(hItem);
    const LONG nCol = nColNo >= 0 ? nColNo : (ptFocus.x >= 0 ? ptFocus.x : 0);
    FocusSet(POINT{nCol, nRow}, true, true, true, bRedraw);
    return true;
}

bool CExtTreeGridWnd::HasRootItem() { return ItemGetRoot() != NULL; }
HTREEITEM CExtTreeGridWnd::GetRootItem() { return ItemGetRoot(); }
bool CExtTreeGridWnd::OnTreeQuery() { return true; }
bool CExtTreeGridWnd::IsTreeColumn(LONG nColNo) { return nColNo == 0; }

bool CExtTreeGridWnd::RowExpand(LONG nRowNo, INT nCode, bool bRedraw)
{
    return ItemExpand(ItemGetByVisibleRow(nRowNo), nCode, bRedraw);
}

bool CExtTreeGridWnd::OnQueryCanCollapse(HTREEITEM, LONG) { return true; }
bool CExtTreeGridWnd::OnQueryCanExpand(HTREEITEM, LONG) { return true; }
bool CExtTreeGridWnd::OnQueryCanGoToParent(HTREEITEM, LONG) { return true; }

// ---- indent, hit test, mouse, keyboard ------------------------------------------------------

INT CExtTreeGridWnd::RowIndent(LONG nRowNo)
{
    CExtTreeGridDataProvider* pTP = GetTreeProvider();
    return pTP != NULL && nRowNo >= 0 && m_nUpdateLock == 0 ? pTP->RowIndentGet((ULONG)nRowNo) : 0;
}

void CExtTreeGridWnd::OnQueryCellIndent(int nColumn, int nRow, int nColType, int nRowType, RECT& rcExtent,
                                        RECT& rcCell)
{
    CExtGridWnd::OnQueryCellIndent(nColumn, nRow, nColType, nRowType, rcExtent, rcCell);
    if (nColType != 0 || nRowType != 0 || !IsTreeColumn(nColumn))
        return;
    rcCell.left = std::min(rcCell.right, rcCell.left + RowIndent(nRow));
}

bool CExtTreeGridWnd::OutlineButtonRect(CExtTreeGridCellNode* pNode, const RECT& rcCell, RECT& rcButton)
{
    CExtTreeGridDataProvider* pTP = GetTreeProvider();
    if (pTP == NULL || pNode == NULL || pNode->TreeNodeGetChildCount() == 0)
        return false;
    const std::vector<CExtTreeGridCellNode*> arrChain = ChainOf(pNode);
    if (arrChain.empty() || ((m_nTreeFlags & 0x1) != 0 && arrChain.size() == 1))
        return false;
    LONG x = rcCell.left;
    for (CExtTreeGridCellNode* p : arrChain)
        x += StepOf(p, pTP->IndentDefaultGet());
    rcButton = {x - StepOf(pNode, pTP->IndentDefaultGet()), rcCell.top, x, rcCell.bottom};
    return rcButton.left < rcButton.right;
}

CExtGridBaseWnd::HIT_TEST_INFO& CExtTreeGridWnd::HitTest(HIT_TEST_INFO& hti, bool bAdjustEdges, bool bDropFirstEdges,
                                                         bool bTestFarHalf)
{
    // The cell rectangles of the record are the whole cells: the indent belongs to the
    // tree and is tested here.
    LockUpdate();
    CExtGridWnd::HitTest(hti, bAdjustEdges, bDropFirstEdges, bTestFarHalf);
    m_nUpdateLock--;
    if (!hti.IsInner() || !IsTreeColumn(hti.m_nColNo))
        return hti;
    CExtTreeGridDataProvider* pTP = GetTreeProvider();
    CExtTreeGridCellNode* pNode = pTP != NULL ? pTP->TreeNodeGetByRow((ULONG)hti.m_nRowNo) : NULL;
    if (pNode == NULL)
        return hti;
    const LONG nIndentEnd = hti.m_rcItem.left + pTP->RowIndentGet((ULONG)hti.m_nRowNo);
    if (hti.m_ptClient.x < hti.m_rcItem.left || hti.m_ptClient.x >= nIndentEnd)
        return hti;
    hti.m_dwAreaFlags |= __EGBWA_TREE_INDENT_AREA;
    RECT rcButton;
    if (OutlineButtonRect(pNode, hti.m_rcItem, rcButton) && ::PtInRect(&rcButton, hti.m_ptClient))
    {
        hti.m_dwAreaFlags |= __EGBWA_TREE_OUTLINE_BUTTON;
        if (!pNode->TreeNodeIsExpanded())
            hti.m_dwAreaFlags |= __EGBWA_TREE_OUTLINE_COLLAPSED;
    }
    return hti;
}

bool CExtTreeGridWnd::OnMouseClick(int nButton, int nEvent, UINT nFlags, CPoint point)
{
    if (nButton == 1 && (nEvent == 1 || nEvent == 2))
    {
        HIT_TEST_INFO hti(point);
        HitTest(hti);
        const bool bOnEdge = (hti.m_dwAreaFlags & 0xF0) != 0;
        if (hti.IsInner() && !bOnEdge &&
            (nEvent == 2 || (IsTreeColumn(hti.m_nColNo) && (hti.m_dwAreaFlags & __EGBWA_TREE_OUTLINE_BUTTON) != 0)))
        {
            RowExpand(hti.m_nRowNo, TREE_TOGGLE, true);
            return true;
        }
    }
    return CExtGridWnd::OnMouseClick(nButton, nEvent, nFlags, point);
}

bool CExtTreeGridWnd::OnKey(bool bDown, UINT nChar, UINT nRepCnt, UINT nFlags)
{
    if (!bDown || (nChar != VK_LEFT && nChar != VK_RIGHT && nChar != VK_ADD && nChar != VK_SUBTRACT))
        return CExtGridWnd::OnKey(bDown, nChar, nRepCnt, nFlags);
    HTREEITEM hItem = ItemFocusGet();
    if (hItem == NULL)
        return true;
    const LONG nColNo = FocusGet().x;
    const INT nState = ItemGetButtonState(hItem);
    switch (nChar)
    {
    case VK_LEFT:
        if (nState == 1)
        {
            if (OnQueryCanCollapse(hItem, nColNo))
            {
                ItemExpand(hItem, TREE_COLLAPSE, true);
                return true;
            }
        }
        else
        {
            HTREEITEM hParent = ItemGetParent(hItem);
            if (hParent != NULL && hParent != ItemGetRoot() && OnQueryCanGoToParent(hItem, nColNo))
            {
                ItemFocusSet(hParent, nColNo, true);
                return true;
            }
        }
        break;
    case VK_RIGHT:
        if (nState == 2 && OnQueryCanExpand(hItem, nColNo))
        {
            ItemExpand(hItem, TREE_EXPAND, true);
            return true;
        }
        break;
    case VK_ADD:
        if (nState == 2)
            ItemExpand(hItem, TREE_EXPAND, true);
        return true;
    default:  // VK_SUBTRACT
        if (nState == 1)
            ItemExpand(hItem, TREE_COLLAPSE, true);
        return true;
    }
    return CExtGridWnd::OnKey(bDown, nChar, nRepCnt, nFlags);
}

// ---- painting ------------------------------------------------------------------------------

void CExtTreeGridWnd::PaintOutline(CDC& dc, CExtTreeGridCellNode* pNode, const RECT& rcIndent)
{
    CExtTreeGridDataProvider* pTP = GetTreeProvider();
    CExtPaintManager* pPM = GetPaintManager();
    if (pTP == NULL || pPM == NULL)
        return;
    const std::vector<CExtTreeGridCellNode*> arrChain = ChainOf(pNode);
    const COLORREF clrLine = pPM->LookupColor(COLOR_3DSHADOW);
    const bool bTopWithoutButton = (m_nTreeFlags & 0x1) != 0;
    const int yMid = (rcIndent.top + rcIndent.bottom) / 2;
    LONG x = rcIndent.left;
    for (size_t k = 0; k < arrChain.size(); k++)
    {
        CExtTreeGridCellNode* p = arrChain[k];
        const INT w = StepOf(p, pTP->IndentDefaultGet());
        const int xMid = x + w / 2;
        const bool bOwn = k + 1 == arrChain.size();
        const bool bDrawn = !(bTopWithoutButton && k == 0);
        if (bDrawn && !bOwn && p->TreeNodeGetNext(true, false, false) != NULL)
            CExtPaintManager::DrawDottedLineVert(dc, xMid, rcIndent.top, rcIndent.bottom, clrLine);
        if (bDrawn && bOwn)
        {
            // Up to the sibling above (or the parent), on to the sibling below, right to
            // the cell.
            if (k > 0 || p->TreeNodeGetPrev(true, false) != NULL)
                CExtPaintManager::DrawDottedLineVert(dc, xMid, rcIndent.top, yMid, clrLine);
            if (p->TreeNodeGetNext(true, false, false) != NULL)
                CExtPaintManager::DrawDottedLineVert(dc, xMid, yMid, rcIndent.bottom, clrLine);
            CExtPaintManager::DrawDottedLineHorz(dc, xMid, x + w, yMid, clrLine);
        }
        x += w;
    }
    RECT rcButton;
    if (!OutlineButtonRect(pNode, rcIndent, rcButton))
        return;
    const bool bExpanded = pNode->TreeNodeIsExpanded();
    CExtCmdIcon& icon = bExpanded ? m_iconTreeBoxExpanded : m_iconTreeBoxCollapsed;
    if (!m_iconTreeBoxExpanded.IsEmpty() || !m_iconTreeBoxCollapsed.IsEmpty())
    {
        if (!icon.IsEmpty())
        {
            const CSize size = icon.GetSize();
            icon.Paint(pPM, dc.GetSafeHdc(), (rcButton.left + rcButton.right - size.cx) / 2,
                       (rcButton.top + rcButton.bottom - size.cy) / 2, size.cx, size.cy);
        }
        return;
    }
    const int nGlyph = (m_nTreeFlags & 0x2) != 0 ? (bExpanded ? 48 : 47) : (bExpanded ? 25 : 24);
    const COLORREF arrColors[3] = {0, pPM->LookupColor(1010), pPM->LookupColor(COLOR_WINDOW)};
    pPM->DrawGlyph(dc, rcButton, *g_ButtonGlyphs[nGlyph], arrColors);
}

void CExtTreeGridWnd::OnPaintCell(CDC& dc, int nVisibleColumn, int nVisibleRow, int nColumn, int nRow,
                                  const RECT& rcExtent, const RECT& rcCell, LPARAM lReserved, DWORD dwAreaFlags,
                                  DWORD dwPaintFlags)
{
    RECT rcText = rcCell;
    if ((dwAreaFlags & HIT_TEST_INFO::AREA_INNER) != 0 && IsTreeColumn(nColumn))
    {
        CExtTreeGridDataProvider* pTP = GetTreeProvider();
        CExtTreeGridCellNode* pNode = pTP != NULL && nRow >= 0 ? pTP->TreeNodeGetByRow((ULONG)nRow) : NULL;
        const INT nIndent = RowIndent(nRow);
        if (pNode != NULL && nIndent > 0)
        {
            rcText.left = std::min(rcCell.right, rcCell.left + nIndent);
            const RECT rcIndent = {rcCell.left, rcCell.top, rcText.left, rcCell.bottom};
            PaintOutline(dc, pNode, rcIndent);
        }
    }
    CExtGridWnd::OnPaintCell(dc, nVisibleColumn, nVisibleRow, nColumn, nRow, rcExtent, rcText, lReserved, dwAreaFlags,
                             dwPaintFlags);
}

// ---- row extents and resizing ------------------------------------------------------------------

int CExtTreeGridWnd::QueryRowExtent(int nRow, int* pBefore, int* pAfter)
{
    CExtTreeGridDataProvider* pTP = (GetScrollItemStyle() & GRID_UNIFORM_ROWS) == 0 ? GetTreeProvider() : NULL;
    CExtTreeGridCellNode* pNode = pTP != NULL && nRow >= 0 ? pTP->TreeNodeGetByRow((ULONG)nRow) : NULL;
    if (pNode == NULL)
        return CExtGridWnd::QueryRowExtent(nRow, pBefore, pAfter);
    // The node is asked, not its fields read: a node kind may work its extra space out
    // (a report item's group band spacing or preview text) and keep none stored.
    INT nExtent = 0, nBefore = 0, nAfter = 0;
    pNode->GetExtent(nExtent, 0);
    pNode->GetExtraSpace(nBefore, false);
    pNode->GetExtraSpace(nAfter, true);
    nExtent = std::max(0, nExtent);
    nBefore = std::max(0, nBefore);
    nAfter = std::max(0, nAfter);
    if (pBefore != NULL)
        *pBefore = nBefore;
    if (pAfter != NULL)
        *pAfter = nAfter;
    return nExtent + nBefore + nAfter;
}

bool CExtTreeGridWnd::GetRowResizeRange(int nRow, int& nMin, int& nMax)
{
    CExtTreeGridDataProvider* pTP = (GetScrollItemStyle() & GRID_UNIFORM_ROWS) == 0 ? GetTreeProvider() : NULL;
    CExtTreeGridCellNode* pNode = pTP != NULL && nRow >= 0 ? pTP->TreeNodeGetByRow((ULONG)nRow) : NULL;
    if (pNode == NULL)
        return CExtGridWnd::GetRowResizeRange(nRow, nMin, nMax);
    // The tracker sizes the whole row, extra space included (QueryRowExtent): the node's
    // limits on its own extent move by that space.
    const int nExtras = ItemExtraSpace(false, nRow);
    nMin = 0;
    nMax = 32767;
    pNode->GetExtent(nMin, -1);
    pNode->GetExtent(nMax, 1);
    nMin += nExtras;
    nMax += nExtras;
    return true;
}

void CExtTreeGridWnd::OnResizeTrack(bool bStart, bool bFinish, const POINT* pPoint)
{
    // No layout pass on the way out: a repaint under the inverted tracker line would
    // leave the line's trace when it is inverted away. OnResizeApply lays out.
    LockUpdate();
    CExtGridWnd::OnResizeTrack(bStart, bFinish, pPoint);
    m_nUpdateLock--;
}

void CExtTreeGridWnd::OnResizeApply(bool bColumns, int nIndex, int nExtent)
{
    LockUpdate();
    CExtTreeGridDataProvider* pTP = (GetScrollItemStyle() & GRID_UNIFORM_ROWS) == 0 ? GetTreeProvider() : NULL;
    CExtTreeGridCellNode* pNode = !bColumns && pTP != NULL && nIndex >= 0 ? pTP->TreeNodeGetByRow((ULONG)nIndex) : NULL;
    if (pNode != NULL)
    {
        INT nMin = 0, nMax = 32767;
        pNode->GetExtent(nMin, -1);
        pNode->GetExtent(nMax, 1);
        nExtent -= ItemExtraSpace(false, nIndex);
        ClampExtent(nExtent, nMin, nMax);
        pNode->SetExtent(nExtent, 0);
    }
    else
        CExtGridWnd::OnResizeApply(bColumns, nIndex, nExtent);
    UnlockUpdate();
}

void CExtTreeGridWnd::UpdateScrollBars()
{
    if (m_nUpdateLock != 0)
        return;
    CExtGridWnd::UpdateScrollBars();
}
