// CExtTreeGridWnd: a grid window whose rows are the shown nodes of a tree. Items handed to
// callers are the node cells themselves (an HTREEITEM is the node's address); the tree
// column (inner column 0) shows the outline (dotted lines, expand buttons) in an indent
// that grows with the depth, and the mouse and the keyboard expand and collapse nodes.
#pragma once
#include "toolkit/grid/grid_wnd.h"
#include "toolkit/grid/tree_grid_data_provider.h"
#include "toolkit/core/cmd_icon.h"

class CExtTreeGridWnd : public CExtGridWnd
{
    DECLARE_DYNCREATE(CExtTreeGridWnd)
public:
    enum : DWORD
    {
        // Hit-test flags of the tree column's indent area.
        __EGBWA_TREE_OUTLINE_BUTTON = 0x40000,
        __EGBWA_TREE_OUTLINE_COLLAPSED = 0x80000,
        __EGBWA_TREE_INDENT_AREA = 0x100000,
    };
    enum : INT
    {
        TREE_COLLAPSE = 1,
        TREE_EXPAND = 2,
        TREE_TOGGLE = 3,
    };

    CExtTreeGridWnd();
    virtual ~CExtTreeGridWnd();

    static CExtTreeGridCellNode* NodeOf(HTREEITEM hItem) { return reinterpret_cast<CExtTreeGridCellNode*>(hItem); }
    static HTREEITEM ItemOf(CExtTreeGridCellNode* pNode) { return reinterpret_cast<HTREEITEM>(pNode); }

    CExtGridDataProvider* GetDataProvider() override;
    // The tree provider, or NULL when the window was given another kind of provider.
    CExtTreeGridDataProvider* GetTreeProvider();

    // ---- items --------------------------------------------------------------------------
    HTREEITEM ItemGetRoot();
    HTREEITEM ItemGetByVisibleRow(LONG nRowNo);
    HTREEITEM ItemGetParent(HTREEITEM hItem);
    HTREEITEM ItemGetNext(HTREEITEM hItem, bool bSiblingsOnly, bool bWalk, bool bDescend);
    HTREEITEM ItemGetPrev(HTREEITEM hItem, bool bSiblingsOnly, bool bExpandedOnly);
    LONG ItemGetChildCount(HTREEITEM hItem);
    // Throws the invalid-argument exception for an index outside the children.
    HTREEITEM ItemGetChildAt(HTREEITEM hItem, LONG nIndex);
    HTREEITEM ItemGetParentFirstSibling(HTREEITEM hItem);
    HTREEITEM ItemGetParentLastSibling(HTREEITEM hItem);
    HTREEITEM ItemGetFirstSibling(HTREEITEM hItem);
    HTREEITEM ItemGetLastSibling(HTREEITEM hItem);
    // hParent NULL: top level. The first new item, NULL on failure.
    HTREEITEM ItemInsert(HTREEITEM hParent, ULONG nPos = ULONG(-1), ULONG nCount = 1, bool bRedraw = true);
    ULONG ItemRemove(HTREEITEM hItem, bool bChildrenOnly = false, bool bRedraw = true);
    // nColType: -1 left band, 1 right band, 0 inner columns; NULL for the root or a
    // column outside its band.
    CExtGridCell* ItemGetCell(HTREEITEM hItem, LONG nColNo, INT nColType = 0, CRuntimeClass* pInitRTC = NULL,
                              bool bAutoFindValue = true, bool bUseColumnDefaultValue = true);
    INT ItemGetButtonState(HTREEITEM hItem);
    bool ItemExpand(HTREEITEM hItem, INT nCode = TREE_TOGGLE, bool bRedraw = true);
    void ItemExpandAll(HTREEITEM hItem, INT nCode = TREE_EXPAND, bool bRedraw = true);
    HTREEITEM ItemFocusGet();
    bool ItemFocusSet(HTREEITEM hItem, LONG nColNo = -1, bool bRedraw = true);
    bool ItemEnsureVisible(HTREEITEM hItem, bool bRedraw = true);
    // The row an item is shown on, -1 when it is not shown.
    LONG ItemGetVisibleRow(HTREEITEM hItem);
    virtual bool HasRootItem();
    virtual HTREEITEM GetRootItem();
    virtual bool OnTreeQuery();
    virtual bool IsTreeColumn(LONG nColNo);
    bool RowExpand(LONG nRowNo, INT nCode = TREE_TOGGLE, bool bRedraw = true);
    // Keyboard permissions: collapse, expand, go to the parent.
    virtual bool OnQueryCanCollapse(HTREEITEM hItem, LONG nColNo);
    virtual bool OnQueryCanExpand(HTREEITEM hItem, LONG nColNo);
    virtual bool OnQueryCanGoToParent(HTREEITEM hItem, LONG nColNo);

    // ---- the grid's operations ------------------------------------------------------------
    HIT_TEST_INFO& HitTest(HIT_TEST_INFO& hti, bool bAdjustEdges = false, bool bDropFirstEdges = false,
                           bool bTestFarHalf = false) override;
    bool OnMouseClick(int nButton, int nEvent, UINT nFlags, CPoint point) override;
    bool OnKey(bool bDown, UINT nChar, UINT nRepCnt, UINT nFlags) override;
    void OnQueryCellIndent(int nColumn, int nRow, int nColType, int nRowType, RECT& rcExtent, RECT& rcCell) override;
    void OnPaintCell(CDC& dc, int nVisibleColumn, int nVisibleRow, int nColumn, int nRow, const RECT& rcExtent,
                     const RECT& rcCell, LPARAM lReserved, DWORD dwAreaFlags, DWORD dwPaintFlags) override;
    int QueryRowExtent(int nRow, int* pBefore = NULL, int* pAfter = NULL) override;
    bool GetRowResizeRange(int nRow, int& nMin, int& nMax) override;
    void OnResizeTrack(bool bStart, bool bFinish, const POINT* pPoint = NULL) override;
    void OnResizeApply(bool bColumns, int nIndex, int nExtent) override;
    void UpdateScrollBars() override;

    // The outline's icons: expanded, collapsed (none: the paint manager's glyphs).
    CExtCmdIcon m_iconTreeBoxExpanded;
    CExtCmdIcon m_iconTreeBoxCollapsed;

protected:
    // The indent of an inner row of the tree column, 0 while the layout is locked.
    INT RowIndent(LONG nRowNo);
    // The row count follows the shown nodes.
    void SyncRowCount(bool bRedraw);
    void LockUpdate() { m_nUpdateLock++; }
    // Unlocks; when the last lock goes, lays out again and repaints.
    void UnlockUpdate();
    void PaintOutline(CDC& dc, CExtTreeGridCellNode* pNode, const RECT& rcIndent);
    bool OutlineButtonRect(CExtTreeGridCellNode* pNode, const RECT& rcCell, RECT& rcButton);

    LONG m_nUpdateLock;
    BYTE m_nTreeFlags;  // bit 1: the themed outline glyphs; bit 0: top-level rows show no button
};
