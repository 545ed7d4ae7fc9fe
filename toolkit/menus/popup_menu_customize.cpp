// The menu in the customize site's drag and drop: a command-tree node dragged over a menu
// built from a node marks where it would go and is dropped into the node's children and
// the menu's items; a command dragged out of such a menu leaves both, with the group
// separators kept tidy. Only a registered customize site drives these operations.
#include "toolkit/menus/popup_menu_wnd.h"

#include "toolkit/core/cmd_item.h"
#include "toolkit/core/cmd_manager.h"

#include <algorithm>

namespace {

typedef CExtPopupMenuWnd::MENUITEMDATA MENUITEMDATA;
const DWORD kGroupStart = CExtCustomizeCmdTreeNode::__ECTN_GROUP_START;

}  // namespace

CExtCustomizeSite* CExtPopupMenuWnd::GetCustomizeSite()
{
    for (CExtPopupMenuWnd* pMenu = this; pMenu != NULL; pMenu = pMenu->m_pParentMenu)
        if (pMenu->m_pCustomizeSite != NULL)
            return pMenu->m_pCustomizeSite;
    return NULL;
}

void CExtPopupMenuWnd::SetDropPos(int nPos)
{
    if (nPos == m_nDropPos)
        return;
    m_nDropPos = nPos;
    if (GetSafeHwnd() != NULL && IsWindowVisible())
    {
        CClientDC dc(this);
        OnPaintMenu(dc, true);
    }
}

DROPEFFECT CExtPopupMenuWnd::OnCustomizeTargetOver(CExtCustomizeSite::CCmdDragInfo& dragInfo, CPoint point,
                                                   DWORD dwKeyState)
{
    if (IsPaletteLayout())
        return DROPEFFECT_NONE;
    if (m_nDragMarker != 0)
        m_nDragFlags |= 0x04;
    CExtCustomizeCmdTreeNode* pNode = dragInfo.m_pNode;
    if (pNode == NULL || pNode == m_pSourceNode ||
        (m_pSourceNode != NULL && (pNode->IsAncestorOf(m_pSourceNode) || m_pSourceNode->IsAncestorOf(pNode))))
        return DROPEFFECT_NONE;
    const DROPEFFECT de = ((dwKeyState & MK_CONTROL) != 0) ? DROPEFFECT_COPY : DROPEFFECT_MOVE;
    if (ItemGetCount() == 0)
        return de;
    const int nHit = HitTest(point);
    if (nHit >= 0)
    {
        int nItem = nHit;
        if (m_items.ElementAt(nItem).IsSeparator())
            nItem--;
        if (nItem < 0 || m_items.ElementAt(nItem).IsSeparator())
        {
            SetDropPos(-1);
            DeselectCurrentItem(true, false);
            return DROPEFFECT_NONE;
        }
        CRect rcItem;
        GetItemRect(nItem, rcItem, true);
        HWND hWnd = GetSafeHwnd();
        SetDropPos((point.y > rcItem.CenterPoint().y) ? nItem + 1 : nItem);
        if (m_items.ElementAt(nItem).IsPopup())
            SelectItem(nItem, true, true, false);
        else
            DeselectCurrentItem(true, false);
        return (hWnd != NULL && ::IsWindow(hWnd)) ? de : DROPEFFECT_NONE;
    }
    if ((nHit == IDX_SCROLL_TOP || nHit == IDX_SCROLL_BOTTOM) && GetSafeHwnd() != NULL)
    {
        const int nStep = (nHit == IDX_SCROLL_TOP) ? m_nScrollStep : -m_nScrollStep;
        m_nScrollPos = std::min(0, std::max(m_nScrollPos + nStep, GetScrollLimit()));
        InvalidateItemRects();
        MoveInplaceEdits();
        Invalidate(FALSE);
    }
    SetDropPos(-1);
    return DROPEFFECT_NONE;
}

void CExtPopupMenuWnd::OnCustomizeTargetLeave()
{
    if (!IsPaletteLayout())
        SetDropPos(-1);
}

void CExtPopupMenuWnd::ReshapeAfterDrop()
{
    RecalcLayout();
    HWND hWnd = GetSafeHwnd();
    if (hWnd == NULL)
        return;
    ::SendMessage(hWnd, WM_SETREDRAW, FALSE, 0);
    ::SetWindowRgn(hWnd, NULL, FALSE);
    m_rgnCombined.DeleteObject();
    CRect rcWnd;
    CalcPlacementRect(rcWnd);
    if (!::IsWindow(hWnd))
        return;
    if (m_rgnCombined.GetSafeHandle() != NULL)
    {
        HRGN hRgn = ::CreateRectRgn(0, 0, 0, 0);
        ::CombineRgn(hRgn, (HRGN)m_rgnCombined.GetSafeHandle(), NULL, RGN_COPY);
        ::SetWindowRgn(hWnd, hRgn, FALSE);
    }
    if (!rcWnd.IsRectEmpty())
        ::SetWindowPos(hWnd, NULL, rcWnd.left, rcWnd.top, rcWnd.Width(), rcWnd.Height(),
                       SWP_NOZORDER | SWP_NOACTIVATE);
    RecalcServiceAreas();
    ::SendMessage(hWnd, WM_SETREDRAW, TRUE, 0);
    ::InvalidateRect(hWnd, NULL, TRUE);
}

bool CExtPopupMenuWnd::OnCustomizeTargetDrop(CExtCustomizeSite::CCmdDragInfo& dragInfo, CPoint, DROPEFFECT de)
{
    if (IsPaletteLayout())
        return false;
    if (de == DROPEFFECT_NONE || (ItemGetCount() > 0 && m_nDropPos < 0) || dragInfo.m_pNode == NULL ||
        m_pSourceNode == NULL)
    {
        SetDropPos(-1);
        m_nDragCounter1 = m_nDragCounter2 = 0;
        return false;
    }
    const int nPos = std::max(0, std::min(m_nDropPos, ItemGetCount()));
    CExtCustomizeSite* pSite = GetCustomizeSite();
    CExtCustomizeCmdTreeNode* pNew = dragInfo.m_pNode->CloneNode(pSite, true);
    pNew->m_dwFlags &= ~kGroupStart;
    // The tree only takes a command that this menu can show as an item.
    MENUITEMDATA mi(this);
    mi.m_hWndCmdReceiver = m_hWndCmdReceiver;
    if (!mi.ConstructPopupFromNode(m_hWndCmdReceiver, pNew, nPos, this))
    {
        mi.DestroySubMenu();
        delete pNew;
        SetDropPos(-1);
        m_nDragCounter1 = m_nDragCounter2 = 0;
        return false;
    }
    m_nDragFlags |= 0x01;
    // The node goes before the node of the first item at the drop position.
    int nChild = m_pSourceNode->GetNodeCount();
    CExtCustomizeCmdTreeNode* pNext = NULL;
    for (int i = nPos; i < ItemGetCount(); i++)
        if (m_items.ElementAt(i).m_pCmdNode != NULL)
        {
            pNext = m_items.ElementAt(i).m_pCmdNode;
            const int nIdx = m_pSourceNode->GetOwnIndex(pNext);
            if (nIdx >= 0)
                nChild = nIdx;
            break;
        }
    // Dropped right after a group's separator: the new node starts the group instead.
    if (pNext != NULL && (pNext->m_dwFlags & kGroupStart) != 0 && nPos > 0 && m_items.ElementAt(nPos - 1).IsSeparator())
    {
        pNext->m_dwFlags &= ~kGroupStart;
        pNew->m_dwFlags |= kGroupStart;
    }
    m_pSourceNode->InsertNode(pSite, pNew, nChild);
    if (mi.IsPopup() && mi.m_pPopup != NULL)
    {
        mi.m_pPopup->BuildFromCmdTree(m_hWndCmdReceiver, pNew, false);
        mi.m_pPopup->m_pParentMenu = this;
    }
    mi.UpdateAccessKey();
    mi.m_nLayoutFlags |= MENUITEMDATA::__MIF_DISPLAYED;
    mi.MeasureItem();
    ItemInsertData(nPos, mi);
    ReshapeAfterDrop();
    SetDropPos(-1);
    m_nDragCounter1 = m_nDragCounter2 = 0;
    return true;
}

void CExtPopupMenuWnd::OnCustomizeSourceDragComplete(DROPEFFECT de, bool bCanceled, bool* p_bNoResetActiveItem)
{
    if (IsPaletteLayout())
        return;
    m_nDragCounter1 = m_nDragCounter2 = 0;
    HWND hWnd = GetSafeHwnd();
    if (hWnd != NULL && (m_nDragFlags & 0x01) == 0)
    {
        DeselectCurrentItem(true, false);
        if (!::IsWindow(hWnd))
            return;
    }
    m_nDragFlags &= ~0x01;
    if ((m_nDragFlags & 0x04) == 0 && m_nDragMarker != 0)
        m_nDragFlags |= 0x02;
    CExtCustomizeSite* pSite = GetCustomizeSite();
    if (bCanceled || (m_nDragFlags & 0x02) != 0 || de == DROPEFFECT_COPY)
    {
        m_nDragFlags &= ~0x02;
        if (pSite != NULL && pSite->IsCustomizeMode() && p_bNoResetActiveItem != NULL)
            *p_bNoResetActiveItem = true;
        return;
    }
    CExtCustomizeCmdTreeNode* pNode = (pSite != NULL) ? pSite->DraggedNodeGet() : NULL;
    if (pNode == NULL)
        return;
    int nItem = -1;
    for (int i = 0; i < ItemGetCount() && nItem < 0; i++)
        if (m_items.ElementAt(i).m_pCmdNode == pNode)
            nItem = i;
    if (nItem >= 0)
    {
        ItemRemove(nItem);
        // The group separator the item leaves behind goes with it.
        if (nItem > 0 && nItem < ItemGetCount() && m_items.ElementAt(nItem).IsSeparator() &&
            m_items.ElementAt(nItem - 1).IsSeparator())
            ItemRemove(nItem);
    }
    if (CExtCustomizeCmdTreeNode* pParent = pNode->GetParentNode())
    {
        const int nIdx = pParent->GetOwnIndex(pNode);
        if (nIdx >= 0)
        {
            // A group the node started goes on with the next node, unless that one starts
            // a group of its own.
            if ((pNode->m_dwFlags & kGroupStart) != 0 && nIdx + 1 < pParent->GetNodeCount())
                pParent->ElementAt(nIdx + 1)->m_dwFlags |= kGroupStart;
            // Detached only: the site's drag owns the node now.
            pParent->m_arrChildren.RemoveAt(nIdx);
            pNode->m_pParentNode = NULL;
        }
    }
    while (ItemGetCount() > 0 && m_items.ElementAt(0).IsSeparator())
        ItemRemove(0);
    while (ItemGetCount() > 0 && m_items.ElementAt(ItemGetCount() - 1).IsSeparator())
        ItemRemove(ItemGetCount() - 1);
    SetDropPos(-1);
    ReshapeAfterDrop();
}
