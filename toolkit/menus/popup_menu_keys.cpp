// The keyboard of a tracking menu: moving the selection, opening and closing sub-menus,
// Enter, Escape, the arrows handed on to the menu bar, and the items' access keys.
#include "toolkit/menus/popup_menu_wnd.h"

typedef CExtPopupMenuWnd::MENUITEMDATA MENUITEMDATA;

bool CExtPopupMenuWnd::CloseToParent()
{
    // The parent becomes current again and keeps its item selected, without the sub-menu.
    CExtPopupMenuWnd* pParent = m_pParentMenu;
    if (pParent == NULL)
        return true;
    pParent->ActivateCurrentPopup();
    const int nParentCur = pParent->m_nCurIndex;
    pParent->SelectItem(-1, false, false, false);  // closes this sub-menu
    pParent->SelectItem(nParentCur, false, true, false);
    pParent->ActivateCurrentPopup();
    return true;
}

namespace {

// In a right-to-left menu Left and Right swap meaning, so the rules below read as for
// left-to-right.
UINT MirrorArrowKeyForRTL(UINT nChar)
{
    if (nChar == VK_LEFT)
        return VK_RIGHT;
    if (nChar == VK_RIGHT)
        return VK_LEFT;
    return nChar;
}

bool IsKeyDown(int nVirtKey) { return (::GetKeyState(nVirtKey) & 0x8000) != 0; }

}  // namespace

bool CExtPopupMenuWnd::OnKeyDown(UINT nChar, UINT, UINT, bool& bNoEat)
{
    if (!IsInputReady())
        return true;
    if (IsKeyForFocusedInplaceEdit(nChar))
        return OnInplaceEditKey(nChar, bNoEat);
    if (IsLayoutRTL())
        nChar = MirrorArrowKeyForRTL(nChar);
    switch (nChar)
    {
    case VK_RETURN:
        return OnKeyEnter(bNoEat);
    case VK_F4:
        OnKeyDropDownInplaceItem();
        return true;
    case VK_MENU: EndSequence(0); return true;
    case VK_ESCAPE:
        if (m_pParentMenu == NULL)
        {
            EndSequence(0);
            return true;
        }
        return CloseToParent();
    case VK_UP:
    case VK_DOWN:
        OnKeyUpDown(nChar);
        return true;
    case VK_RIGHT:
        OnKeyRight();
        return true;
    case VK_LEFT:
        return OnKeyLeft();
    case VK_SPACE:
        return true;
    case VK_PRIOR:
    case VK_NEXT:
        MoveSelectionByKey(nChar == VK_PRIOR ? NEXT_PAGE_UP : NEXT_PAGE_DOWN);
        return true;
    default:
        break;
    }
    // Access keys: Shift and Ctrl combinations are no access keys.
    if (!IsKeyDown(VK_SHIFT) && !IsKeyDown(VK_CONTROL))
        OnAccessKey(nChar);
    return true;
}

// An in-place edit of this menu has the focus: the keys are the edit's, but for the
// clipboard and menu keys (OnInplaceEditKey sorts those out), and Enter on its own item.
bool CExtPopupMenuWnd::IsKeyForFocusedInplaceEdit(UINT nChar)
{
    HWND hWndFocus = ::GetFocus();
    if (hWndFocus == NULL || hWndFocus == m_hWnd || !::IsChild(m_hWnd, hWndFocus) ||
        (::GetWindowLong(hWndFocus, GWL_STYLE) & WS_CHILD) == 0)
        return false;
    const bool bEnterOnItem = nChar == VK_RETURN && m_nCurIndex >= 0 && m_nCurIndex < ItemGetCount() &&
                              m_items.ElementAt(m_nCurIndex).IsInplaceEdit();
    return !bEnterOnItem;
}

// The common move: keyboard moves never open sub-menus by themselves; a move onto the
// expand area expands the menu and goes on from the item that was current.
void CExtPopupMenuWnd::MoveSelectionByKey(int nCode)
{
    if (nCode == NEXT_EXPAND)
        return;
    HWND hWnd = m_hWnd;
    const int nNext = FindNextItem(nCode);
    if (ItemGetCount() == 0 || nNext < 0 || nNext == m_nCurIndex)
    {
        if (nNext != IDX_EXPAND)
            return;
        const int nOld = m_nCurIndex;
        ExpandMenu();
        if (!::IsWindow(hWnd) || nOld < 0)
            return;
        SelectItem(nOld, false, true, false);
        const int nAfter = FindNextItem(NEXT_NEXT);
        if (nAfter >= 0)
            SelectItem(nAfter, false, true, false);
        return;
    }
    SelectItem(nNext, false, true, false);
}

// Enter runs the current item, or the default item when none is current; on an in-place
// edit item it shows the edit, or leaves Enter to an edit already shown.
bool CExtPopupMenuWnd::OnKeyEnter(bool& bNoEat)
{
    int nCur = m_nCurIndex;
    if (nCur < 0)
    {
        for (int i = 0; i < ItemGetCount() && nCur < 0; i++)
            if (m_items.ElementAt(i).IsDefault())
                nCur = i;
        if (nCur < 0)
            return true;
        SelectItem(nCur, false, true, true);
    }
    if (nCur >= 0 && nCur < ItemGetCount() && m_items.ElementAt(nCur).IsInplaceEdit())
    {
        MENUITEMDATA& mi = m_items.ElementAt(nCur);
        CWnd* pEdit = mi.GetInplaceEditWnd();
        if (pEdit != NULL && pEdit->GetSafeHwnd() != NULL && mi.IsInplaceEditActive())
        {
            if (pEdit->IsWindowVisible())
            {
                bNoEat = true;  // the edit commits its own Enter
                return false;
            }
            ShowInplaceEdit(nCur);
        }
        return true;
    }
    ExecuteItem(nCur);
    return true;
}

// F4 drops down the sub-menu of an in-place edit item that has one and no extra callback.
void CExtPopupMenuWnd::OnKeyDropDownInplaceItem()
{
    if (m_nCurIndex < 0 || m_nCurIndex >= ItemGetCount())
        return;
    MENUITEMDATA& mi = m_items.ElementAt(m_nCurIndex);
    if (mi.IsInplaceEdit() && mi.IsPopup() && mi.m_pCbItemExtra == NULL &&
        (mi.m_pPopup == NULL || mi.m_pPopup->GetSafeHwnd() == NULL))
        SelectItem(m_nCurIndex, true, true, true);
}

// Up and Down walk the items; in a palette they walk rows while no item or an icon-only
// item is current. Ctrl+Down expands the menu instead.
void CExtPopupMenuWnd::OnKeyUpDown(UINT nChar)
{
    const bool bDown = nChar == VK_DOWN;
    if (bDown && IsKeyDown(VK_CONTROL))
    {
        if (HasExpandArea() && !IsExpanded())
            ExpandMenu();
        return;
    }
    const bool bIconOnly = m_nCurIndex >= 0 && m_nCurIndex < ItemGetCount() &&
                           (m_items.ElementAt(m_nCurIndex).m_nKindFlags & MENUITEMDATA::__MIK_ICON_ONLY) != 0;
    const bool bByRow = IsPaletteLayout() && (m_nCurIndex < 0 || bIconOnly);
    if (bDown)
        MoveSelectionByKey(bByRow ? NEXT_ROW_NEXT : NEXT_NEXT);
    else
        MoveSelectionByKey(bByRow ? NEXT_ROW_PREV : NEXT_PREV);
}

// Right opens the current item's sub-menu; elsewhere the menu bar moves on to the next
// button's menu.
void CExtPopupMenuWnd::OnKeyRight()
{
    // A palette row is walked item by item; its last item and sub-menu items hand Right on.
    if (IsPaletteLayout() && m_nCurIndex >= 0 && m_nCurIndex < ItemGetCount() - 1 &&
        !m_items.ElementAt(m_nCurIndex).IsPopup())
    {
        MoveSelectionByKey(NEXT_NEXT);
        return;
    }
    if (m_nCurIndex >= 0 && m_nCurIndex < ItemGetCount() && m_items.ElementAt(m_nCurIndex).IsPopup())
    {
        HWND hWnd = m_hWnd;
        CExtPopupMenuWnd* pSub = m_items.ElementAt(m_nCurIndex).m_pPopup;
        if (pSub != NULL && pSub->GetSafeHwnd() != NULL && pSub->IsWindowVisible())
            return;
        OnHoverItem(-1);
        if (!::IsWindow(hWnd))
            return;
        const int nCur = m_nCurIndex;
        SelectItem(nCur, true, true, true);
        ActivateCurrentPopup();
        if (pSub != NULL && pSub->GetSafeHwnd() != NULL)
            pSub->ActivateCurrentPopup();
        return;
    }
    if (g_PopupBarServices.IsButtonMenuTracking() && m_hWndCmdReceiver != NULL)
        ::PostMessage(m_hWndCmdReceiver, IsLayoutRTL() ? g_nMsgPopupPrev : g_nMsgPopupNext, 0, (LPARAM)this);
}

// Left closes a sub-menu back to its parent; in a root menu the menu bar moves on to the
// previous button's menu.
bool CExtPopupMenuWnd::OnKeyLeft()
{
    if (IsPaletteLayout() && ItemGetCount() > 0 && m_nCurIndex >= 0)
    {
        MoveSelectionByKey(NEXT_PREV);
        return true;
    }
    if (m_pParentMenu == NULL)
    {
        if (g_PopupBarServices.IsButtonMenuTracking() && m_hWndCmdReceiver != NULL)
            ::PostMessage(m_hWndCmdReceiver, IsLayoutRTL() ? g_nMsgPopupNext : g_nMsgPopupPrev, 0, (LPARAM)this);
        return true;
    }
    return CloseToParent();
}

// A key that types a character selects the next item with that access key, opening its
// sub-menu as Right would; the one item with the key runs at once.
void CExtPopupMenuWnd::OnAccessKey(UINT nChar)
{
    BYTE keys[256];
    ::GetKeyboardState(keys);
    WORD wChar = 0;
    const UINT nScan = ::MapVirtualKey(nChar, 0);
    if (::ToAsciiEx(nChar, nScan, keys, &wChar, 0, ::GetKeyboardLayout(0)) != 1)
        return;
    const TCHAR ch = (TCHAR)(wChar & 0xFF);
    int nFound = ItemFindByAccessKey(ch, m_nCurIndex, true);
    // The search never answers its own start: the current item is found only by searching
    // again from the top, and then it is the one item with this key.
    if (nFound < 0 && m_nCurIndex >= 0)
        nFound = ItemFindByAccessKey(ch, -1, true);
    if (nFound < 0)
        return;
    if (nFound == m_nCurIndex)
    {
        ExecuteItem(nFound);
        return;
    }
    HWND hWnd = m_hWnd;
    SelectItem(nFound, true, true, true);
    if (!::IsWindow(hWnd))
        return;
    const int nAgain = ItemFindByAccessKey(ch, nFound, true);
    if (nAgain < 0 || nAgain == nFound)
        ExecuteItem(nFound);
}
