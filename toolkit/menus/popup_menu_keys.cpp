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

bool CExtPopupMenuWnd::OnKeyDown(UINT nChar, UINT, UINT, bool& bNoEat)
{
    if (!IsInputReady())
        return true;
    HWND hWnd = m_hWnd;
    // An in-place edit of this menu has the focus: the keys are the edit's, but for the
    // clipboard and menu keys, and Enter on its own item.
    HWND hWndFocus = ::GetFocus();
    if (hWndFocus != NULL && hWndFocus != hWnd && ::IsChild(hWnd, hWndFocus) &&
        (::GetWindowLong(hWndFocus, GWL_STYLE) & WS_CHILD) != 0)
    {
        const bool bEnterOnItem = nChar == VK_RETURN && m_nCurIndex >= 0 && m_nCurIndex < ItemGetCount() &&
                                  m_items.ElementAt(m_nCurIndex).IsInplaceEdit();
        if (!bEnterOnItem)
            return OnInplaceEditKey(nChar, bNoEat);
    }
    if (IsLayoutRTL())
    {
        if (nChar == VK_LEFT)
            nChar = VK_RIGHT;
        else if (nChar == VK_RIGHT)
            nChar = VK_LEFT;
    }
    // The common move: keyboard moves never open sub-menus by themselves; a move onto the
    // expand area expands the menu and goes on from the item that was current.
    auto moveTo = [&](int nCode) {
        if (nCode == NEXT_EXPAND)
            return;
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
    };
    switch (nChar)
    {
    case VK_RETURN:
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
    case VK_F4:
        if (m_nCurIndex >= 0 && m_nCurIndex < ItemGetCount())
        {
            MENUITEMDATA& mi = m_items.ElementAt(m_nCurIndex);
            if (mi.IsInplaceEdit() && mi.IsPopup() && mi.m_pCbItemExtra == NULL &&
                (mi.m_pPopup == NULL || mi.m_pPopup->GetSafeHwnd() == NULL))
                SelectItem(m_nCurIndex, true, true, true);
        }
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
    {
        const bool bIconOnly = m_nCurIndex >= 0 && m_nCurIndex < ItemGetCount() &&
                               (m_items.ElementAt(m_nCurIndex).m_nKindFlags & MENUITEMDATA::__MIK_ICON_ONLY) != 0;
        moveTo((IsPaletteLayout() && (m_nCurIndex < 0 || bIconOnly)) ? NEXT_ROW_PREV : NEXT_PREV);
        return true;
    }
    case VK_DOWN:
    {
        if ((::GetKeyState(VK_CONTROL) & 0x8000) != 0)
        {
            if (HasExpandArea() && !IsExpanded())
                ExpandMenu();
            return true;
        }
        const bool bIconOnly = m_nCurIndex >= 0 && m_nCurIndex < ItemGetCount() &&
                               (m_items.ElementAt(m_nCurIndex).m_nKindFlags & MENUITEMDATA::__MIK_ICON_ONLY) != 0;
        moveTo((IsPaletteLayout() && (m_nCurIndex < 0 || bIconOnly)) ? NEXT_ROW_NEXT : NEXT_NEXT);
        return true;
    }
    case VK_RIGHT:
        // A palette row is walked item by item; its last item and sub-menu items hand Right on.
        if (IsPaletteLayout() && m_nCurIndex >= 0 && m_nCurIndex < ItemGetCount() - 1 &&
            !m_items.ElementAt(m_nCurIndex).IsPopup())
        {
            moveTo(NEXT_NEXT);
            return true;
        }
        if (m_nCurIndex >= 0 && m_nCurIndex < ItemGetCount() && m_items.ElementAt(m_nCurIndex).IsPopup())
        {
            CExtPopupMenuWnd* pSub = m_items.ElementAt(m_nCurIndex).m_pPopup;
            if (pSub != NULL && pSub->GetSafeHwnd() != NULL && pSub->IsWindowVisible())
                return true;
            OnHoverItem(-1);
            if (!::IsWindow(hWnd))
                return true;
            const int nCur = m_nCurIndex;
            SelectItem(nCur, true, true, true);
            ActivateCurrentPopup();
            if (pSub != NULL && pSub->GetSafeHwnd() != NULL)
                pSub->ActivateCurrentPopup();
            return true;
        }
        if (g_PopupBarServices.IsButtonMenuTracking() && m_hWndCmdReceiver != NULL)
            ::PostMessage(m_hWndCmdReceiver, IsLayoutRTL() ? g_nMsgPopupPrev : g_nMsgPopupNext, 0, (LPARAM)this);
        return true;
    default: break;
    }
    if (nChar == VK_LEFT)
    {
        if (IsPaletteLayout() && ItemGetCount() > 0 && m_nCurIndex >= 0)
        {
            moveTo(NEXT_PREV);
            return true;
        }
        if (m_pParentMenu == NULL)
        {
            if (g_PopupBarServices.IsButtonMenuTracking() && m_hWndCmdReceiver != NULL)
                ::PostMessage(m_hWndCmdReceiver, IsLayoutRTL() ? g_nMsgPopupNext : g_nMsgPopupPrev, 0,
                              (LPARAM)this);
            return true;
        }
        return CloseToParent();
    }
    if (nChar == VK_SPACE)
        return true;
    if (nChar == VK_PRIOR || nChar == VK_NEXT)
    {
        moveTo(nChar == VK_PRIOR ? -106 : -107);
        return true;
    }
    // Mnemonics.
    if ((::GetKeyState(VK_SHIFT) & 0x8000) != 0 || (::GetKeyState(VK_CONTROL) & 0x8000) != 0)
        return true;
    BYTE keys[256];
    ::GetKeyboardState(keys);
    WORD wChar = 0;
    const UINT nScan = ::MapVirtualKey(nChar, 0);
    if (::ToAsciiEx(nChar, nScan, keys, &wChar, 0, ::GetKeyboardLayout(0)) != 1)
        return true;
    const TCHAR ch = (TCHAR)(wChar & 0xFF);
    int nFound = ItemFindByAccessKey(ch, m_nCurIndex, true);
    // The search never answers its own start: the current item is found only by searching
    // again from the top, and then it is the one item with this key.
    if (nFound < 0 && m_nCurIndex >= 0)
        nFound = ItemFindByAccessKey(ch, -1, true);
    if (nFound < 0)
        return true;
    if (nFound == m_nCurIndex)
    {
        ExecuteItem(nFound);
        return true;
    }
    SelectItem(nFound, false, true, false);
    if (!::IsWindow(hWnd))
        return true;
    const int nAgain = ItemFindByAccessKey(ch, nFound, true);
    if (nAgain < 0 || nAgain == nFound)
        ExecuteItem(nFound);
    return true;
}
