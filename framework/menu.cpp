// CMenu without the window-dependent members (TrackPopupMenu lives in menu_wnd.cpp).
#include "framework/menu.h"
#include "framework/gdi_handlemap.h"
#include <vector>

using afx_gdi_detail::Maps;

IMPLEMENT_DYNCREATE(CMenu, CObject)

CMenu::CMenu() : m_hMenu(NULL) {}

CMenu::~CMenu() { DestroyMenu(); }

CMenu* PASCAL CMenu::FromHandle(HMENU hMenu) {
    if (hMenu == NULL) return NULL;
    auto& map = Maps().menu;
    if (CMenu* p = map.LookupPermanent(hMenu)) return p;
    if (CMenu* p = map.LookupTemporary(hMenu)) return p;
    CMenu* p = new CMenu;
    p->m_hMenu = hMenu;
    map.temporary[hMenu] = p;
    return p;
}

CMenu* PASCAL CMenu::FromHandlePermanent(HMENU hMenu) {
    return hMenu == NULL ? NULL : Maps().menu.LookupPermanent(hMenu);
}

void PASCAL CMenu::DeleteTempMap() {
    auto& map = Maps().menu;
    std::unordered_map<void*, CMenu*> temp;
    temp.swap(map.temporary);
    for (auto& kv : temp) {
        kv.second->m_hMenu = NULL;  // a temporary wrapper never owns its menu
        delete kv.second;
    }
}

BOOL CMenu::Attach(HMENU hMenu) {
    ASSERT(m_hMenu == NULL);
    if (hMenu == NULL) return FALSE;
    if (m_hMenu != NULL) Maps().menu.RemovePermanent(m_hMenu, this);  // never left mapped to us
    m_hMenu = hMenu;
    Maps().menu.SetPermanent(hMenu, this);
    return TRUE;
}

HMENU CMenu::Detach() {
    HMENU h = m_hMenu;
    if (h != NULL) Maps().menu.RemovePermanent(h, this);
    m_hMenu = NULL;
    return h;
}

BOOL CMenu::CreateMenu() { return Attach(::CreateMenu()); }
BOOL CMenu::CreatePopupMenu() { return Attach(::CreatePopupMenu()); }

BOOL CMenu::LoadMenu(LPCTSTR lpszResourceName) {
    HINSTANCE hInst = afx_gdi_detail::FindResourceModule(lpszResourceName, RT_MENU);
    return Attach(::LoadMenu(hInst, lpszResourceName));
}

BOOL CMenu::LoadMenu(UINT nIDResource) { return LoadMenu(MAKEINTRESOURCE(nIDResource)); }

BOOL CMenu::LoadMenuIndirect(const void* lpMenuTemplate) {
    return lpMenuTemplate != NULL && Attach(::LoadMenuIndirect((const MENUTEMPLATE*)lpMenuTemplate));
}

namespace {

// Every popup below hMenu, at any depth (hMenu itself not included).
void CollectSubMenus(HMENU hMenu, std::vector<HMENU>& out, int depth = 0) {
    if (depth > 64) return;  // a menu cannot hold itself, but stay safe on a damaged one
    int n = ::GetMenuItemCount(hMenu);
    for (int i = 0; i < n; ++i) {
        HMENU h = ::GetSubMenu(hMenu, i);
        if (h == NULL) continue;
        out.push_back(h);
        CollectSubMenus(h, out, depth + 1);
    }
}

// The platform destroys a popup together with its submenus: no CMenu may keep any of
// those handles, or it would destroy it again (or a menu that later got the handle).
void ForgetDestroyedMenus(const std::vector<HMENU>& menus) {
    auto& map = Maps().menu;
    for (HMENU h : menus) {
        if (CMenu* owner = map.LookupPermanent(h)) owner->Detach();
        auto it = map.temporary.find(h);
        if (it != map.temporary.end()) it->second->m_hMenu = NULL;
    }
}

// The popup that DeleteMenu(nID, MF_BYCOMMAND) takes away, NULL when the item it finds
// is a plain command. The platform looks into each popup before it takes the popup's
// own item for a match, and takes the first such popup item only when nothing deeper
// matched.
HMENU FindPopupByCommand(HMENU hMenu, UINT nID, bool& found, int depth = 0) {
    HMENU fallback = NULL;
    bool haveFallback = false;
    int n = depth > 64 ? 0 : ::GetMenuItemCount(hMenu);
    for (int i = 0; i < n; ++i) {
        HMENU hSub = ::GetSubMenu(hMenu, i);
        if (hSub != NULL) {
            HMENU inner = FindPopupByCommand(hSub, nID, found, depth + 1);
            if (found) return inner;
            if (!haveFallback && (UINT)(UINT_PTR)hSub == nID) {
                fallback = hSub;
                haveFallback = true;
            }
        } else if (::GetMenuItemID(hMenu, i) == nID) {
            found = true;
            return NULL;
        }
    }
    if (haveFallback) found = true;
    return fallback;
}

}  // namespace

BOOL CMenu::DestroyMenu() {
    if (m_hMenu == NULL) return FALSE;
    std::vector<HMENU> subMenus;
    CollectSubMenus(m_hMenu, subMenus);
    BOOL ok = ::DestroyMenu(Detach());
    if (ok) ForgetDestroyedMenus(subMenus);
    return ok;
}

BOOL CMenu::AppendMenu(UINT nFlags, UINT_PTR nIDNewItem, LPCTSTR lpszNewItem) {
    return ::AppendMenu(m_hMenu, nFlags, nIDNewItem, lpszNewItem);
}

BOOL CMenu::AppendMenu(UINT nFlags, UINT_PTR nIDNewItem, const CBitmap* pBmp) {
    return ::AppendMenu(m_hMenu, nFlags | MF_BITMAP, nIDNewItem, (LPCTSTR)pBmp->GetSafeHandle());
}

BOOL CMenu::InsertMenu(UINT nPosition, UINT nFlags, UINT_PTR nIDNewItem, LPCTSTR lpszNewItem) {
    return ::InsertMenu(m_hMenu, nPosition, nFlags, nIDNewItem, lpszNewItem);
}

BOOL CMenu::InsertMenu(UINT nPosition, UINT nFlags, UINT_PTR nIDNewItem, const CBitmap* pBmp) {
    return ::InsertMenu(m_hMenu, nPosition, nFlags | MF_BITMAP, nIDNewItem, (LPCTSTR)pBmp->GetSafeHandle());
}

namespace {
// The popup of the item at nPosition (by position or command), and every menu below it.
std::vector<HMENU> MenusUnderItem(HMENU hMenu, UINT nPosition, UINT nFlags) {
    std::vector<HMENU> menus;
    HMENU hSub = NULL;
    if (nFlags & MF_BYPOSITION) {
        hSub = ::GetSubMenu(hMenu, (int)nPosition);
    } else {
        bool found = false;
        hSub = FindPopupByCommand(hMenu, nPosition, found);
    }
    if (hSub != NULL) {
        menus.push_back(hSub);
        CollectSubMenus(hSub, menus);
    }
    return menus;
}

// Replacing a popup item destroys the popup it had (unless the same popup is put back):
// the owners of the menus that went let go.
BOOL ModifyAndForget(HMENU hMenu, UINT nPosition, UINT nFlags, UINT_PTR nIDNewItem, LPCTSTR lpszNewItem) {
    std::vector<HMENU> before = MenusUnderItem(hMenu, nPosition, nFlags);
    BOOL ok = ::ModifyMenu(hMenu, nPosition, nFlags, nIDNewItem, lpszNewItem);
    std::vector<HMENU> gone;
    for (HMENU h : before)
        if (!::IsMenu(h)) gone.push_back(h);
    ForgetDestroyedMenus(gone);
    return ok;
}
}  // namespace

BOOL CMenu::ModifyMenu(UINT nPosition, UINT nFlags, UINT_PTR nIDNewItem, LPCTSTR lpszNewItem) {
    return ModifyAndForget(m_hMenu, nPosition, nFlags, nIDNewItem, lpszNewItem);
}

BOOL CMenu::ModifyMenu(UINT nPosition, UINT nFlags, UINT_PTR nIDNewItem, const CBitmap* pBmp) {
    return ModifyAndForget(m_hMenu, nPosition, nFlags | MF_BITMAP, nIDNewItem, (LPCTSTR)pBmp->GetSafeHandle());
}

BOOL CMenu::InsertMenuItem(UINT uItem, LPMENUITEMINFO lpMenuItemInfo, BOOL fByPos) {
    return ::InsertMenuItem(m_hMenu, uItem, fByPos, lpMenuItemInfo);
}

BOOL CMenu::SetMenuItemInfo(UINT uItem, LPMENUITEMINFO lpMenuItemInfo, BOOL fByPos) {
    return ::SetMenuItemInfo(m_hMenu, uItem, fByPos, lpMenuItemInfo);
}

BOOL CMenu::RemoveMenu(UINT nPosition, UINT nFlags) { return ::RemoveMenu(m_hMenu, nPosition, nFlags); }

BOOL CMenu::DeleteMenu(UINT nPosition, UINT nFlags) {
    // A CMenu that owns the submenu being destroyed (or one below it) must not destroy
    // it a second time.
    std::vector<HMENU> destroyed = MenusUnderItem(m_hMenu, nPosition, nFlags);
    BOOL ok = ::DeleteMenu(m_hMenu, nPosition, nFlags);
    if (ok) ForgetDestroyedMenus(destroyed);
    return ok;
}

UINT CMenu::GetMenuItemCount() const { return (UINT)::GetMenuItemCount(m_hMenu); }
UINT CMenu::GetMenuItemID(int nPos) const { return ::GetMenuItemID(m_hMenu, nPos); }
UINT CMenu::GetMenuState(UINT nID, UINT nFlags) const { return ::GetMenuState(m_hMenu, nID, nFlags); }

int CMenu::GetMenuString(UINT nIDItem, LPTSTR lpString, int nMaxCount, UINT nFlags) const {
    return ::GetMenuString(m_hMenu, nIDItem, lpString, nMaxCount, nFlags);
}

int CMenu::GetMenuString(UINT nIDItem, CString& rString, UINT nFlags) const {
    rString.Empty();
    int nLen = ::GetMenuString(m_hMenu, nIDItem, NULL, 0, nFlags);
    if (nLen <= 0) return 0;
    LPTSTR p = rString.GetBuffer(nLen + 1);
    nLen = ::GetMenuString(m_hMenu, nIDItem, p, nLen + 1, nFlags);
    rString.ReleaseBuffer(nLen > 0 ? nLen : 0);
    return rString.GetLength();
}

BOOL CMenu::GetMenuItemInfo(UINT uItem, LPMENUITEMINFO lpMenuItemInfo, BOOL fByPos) const {
    return ::GetMenuItemInfo(m_hMenu, uItem, fByPos, lpMenuItemInfo);
}

CMenu* CMenu::GetSubMenu(int nPos) const {
    HMENU h = ::GetSubMenu(m_hMenu, nPos);
    return h != NULL ? CMenu::FromHandle(h) : NULL;
}

UINT CMenu::GetDefaultItem(UINT gmdiFlags, BOOL fByPos) { return ::GetMenuDefaultItem(m_hMenu, fByPos, gmdiFlags); }
BOOL CMenu::SetDefaultItem(UINT uItem, BOOL fByPos) { return ::SetMenuDefaultItem(m_hMenu, uItem, fByPos); }
DWORD CMenu::GetMenuContextHelpId() const { return ::GetMenuContextHelpId(m_hMenu); }
BOOL CMenu::SetMenuContextHelpId(DWORD dwContextHelpId) { return ::SetMenuContextHelpId(m_hMenu, dwContextHelpId); }
BOOL CMenu::GetMenuInfo(LPMENUINFO lpcmi) const { return ::GetMenuInfo(m_hMenu, lpcmi); }
BOOL CMenu::SetMenuInfo(LPCMENUINFO lpcmi) { return ::SetMenuInfo(m_hMenu, lpcmi); }

UINT CMenu::CheckMenuItem(UINT nIDCheckItem, UINT nCheck) {
    return (UINT)::CheckMenuItem(m_hMenu, nIDCheckItem, nCheck);
}

UINT CMenu::EnableMenuItem(UINT nIDEnableItem, UINT nEnable) {
    return (UINT)::EnableMenuItem(m_hMenu, nIDEnableItem, nEnable);
}

BOOL CMenu::CheckMenuRadioItem(UINT nIDFirst, UINT nIDLast, UINT nIDItem, UINT nFlags) {
    return ::CheckMenuRadioItem(m_hMenu, nIDFirst, nIDLast, nIDItem, nFlags);
}

BOOL CMenu::SetMenuItemBitmaps(UINT nPosition, UINT nFlags, const CBitmap* pBmpUnchecked,
                               const CBitmap* pBmpChecked) {
    return ::SetMenuItemBitmaps(m_hMenu, nPosition, nFlags, (HBITMAP)pBmpUnchecked->GetSafeHandle(),
                                (HBITMAP)pBmpChecked->GetSafeHandle());
}

void CMenu::DrawItem(LPDRAWITEMSTRUCT) {}
void CMenu::MeasureItem(LPMEASUREITEMSTRUCT) {}
