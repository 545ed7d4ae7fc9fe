#include "framework/ctrl_tree.h"
#include "framework/ctrl_common.h"

IMPLEMENT_DYNAMIC(CTreeCtrl, CWnd)

CTreeCtrl::~CTreeCtrl() { AfxDestroyOwnedControl(this); }

BOOL CTreeCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
    AfxInitCommonControls(ICC_TREEVIEW_CLASSES);
    return CWnd::Create(WC_TREEVIEW, NULL, dwStyle, rect, pParentWnd, nID);
}

BOOL CTreeCtrl::CreateEx(DWORD dwExStyle, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
    AfxInitCommonControls(ICC_TREEVIEW_CLASSES);
    return CWnd::CreateEx(dwExStyle, WC_TREEVIEW, NULL, dwStyle, rect, pParentWnd, nID);
}

CImageList* CTreeCtrl::GetImageList(int nImageList) const {
    return CImageList::FromHandle((HIMAGELIST)::SendMessage(m_hWnd, TVM_GETIMAGELIST, nImageList, 0));
}

CImageList* CTreeCtrl::SetImageList(CImageList* pImageList, int nImageListType) {
    return CImageList::FromHandle((HIMAGELIST)::SendMessage(m_hWnd, TVM_SETIMAGELIST, nImageListType,
                                                            (LPARAM)pImageList->GetSafeHandle()));
}

CEdit* CTreeCtrl::GetEditControl() const {
    return (CEdit*)CWnd::FromHandle((HWND)::SendMessage(m_hWnd, TVM_GETEDITCONTROL, 0, 0));
}

CToolTipCtrl* CTreeCtrl::GetToolTips() const {
    return (CToolTipCtrl*)CWnd::FromHandle((HWND)::SendMessage(m_hWnd, TVM_GETTOOLTIPS, 0, 0));
}

CToolTipCtrl* CTreeCtrl::SetToolTips(CToolTipCtrl* pWndTip) {
    return (CToolTipCtrl*)CWnd::FromHandle(
        (HWND)::SendMessage(m_hWnd, TVM_SETTOOLTIPS, (WPARAM)pWndTip->GetSafeHwnd(), 0));
}

BOOL CTreeCtrl::ItemHasChildren(HTREEITEM hItem) const {
    TVITEM item;
    ::ZeroMemory(&item, sizeof(item));
    item.hItem = hItem;
    item.mask = TVIF_CHILDREN;
    if (!GetItem(&item)) return FALSE;
    return item.cChildren != 0;
}

BOOL CTreeCtrl::SetItem(HTREEITEM hItem, UINT nMask, LPCTSTR lpszItem, int nImage, int nSelectedImage, UINT nState,
                        UINT nStateMask, LPARAM lParam) {
    TVITEM item;
    ::ZeroMemory(&item, sizeof(item));
    item.hItem = hItem;
    item.mask = nMask;
    item.pszText = (LPTSTR)lpszItem;
    item.iImage = nImage;
    item.iSelectedImage = nSelectedImage;
    item.state = nState;
    item.stateMask = nStateMask;
    item.lParam = lParam;
    return SetItem(&item);
}

CString CTreeCtrl::GetItemText(HTREEITEM hItem) const {
    // TVITEM answers no length: grow the buffer until the text leaves room to spare.
    CString str;
    for (int nLen = 256;; nLen *= 2) {
        TVITEM item;
        ::ZeroMemory(&item, sizeof(item));
        item.hItem = hItem;
        item.mask = TVIF_TEXT;
        item.pszText = str.GetBuffer(nLen);
        item.pszText[0] = 0;
        item.cchTextMax = nLen;
        BOOL ok = GetItem(&item);
        str.ReleaseBuffer();
        if (!ok) {
            str.Empty();
            break;
        }
        if (str.GetLength() < nLen - 1 || nLen >= (1 << 24)) break;
    }
    return str;
}

BOOL CTreeCtrl::SetItemText(HTREEITEM hItem, LPCTSTR lpszItem) {
    return SetItem(hItem, TVIF_TEXT, lpszItem, 0, 0, 0, 0, 0);
}

BOOL CTreeCtrl::GetItemImage(HTREEITEM hItem, int& nImage, int& nSelectedImage) const {
    TVITEM item;
    ::ZeroMemory(&item, sizeof(item));
    item.hItem = hItem;
    item.mask = TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    BOOL ok = GetItem(&item);
    if (ok) {
        nImage = item.iImage;
        nSelectedImage = item.iSelectedImage;
    }
    return ok;
}

BOOL CTreeCtrl::SetItemImage(HTREEITEM hItem, int nImage, int nSelectedImage) {
    return SetItem(hItem, TVIF_IMAGE | TVIF_SELECTEDIMAGE, NULL, nImage, nSelectedImage, 0, 0, 0);
}

BOOL CTreeCtrl::SetItemState(HTREEITEM hItem, UINT nState, UINT nStateMask) {
    return SetItem(hItem, TVIF_STATE, NULL, 0, 0, nState, nStateMask, 0);
}

DWORD_PTR CTreeCtrl::GetItemData(HTREEITEM hItem) const {
    TVITEM item;
    ::ZeroMemory(&item, sizeof(item));
    item.hItem = hItem;
    item.mask = TVIF_PARAM;
    if (!GetItem(&item)) return 0;
    return (DWORD_PTR)item.lParam;
}

BOOL CTreeCtrl::SetItemData(HTREEITEM hItem, DWORD_PTR dwData) {
    return SetItem(hItem, TVIF_PARAM, NULL, 0, 0, 0, 0, (LPARAM)dwData);
}

BOOL CTreeCtrl::GetItemRect(HTREEITEM hItem, LPRECT lpRect, BOOL bTextOnly) const {
    if (lpRect == NULL) return FALSE;
    // TVM_GETITEMRECT takes the item handle in the rectangle's first bytes.
    *(HTREEITEM*)lpRect = hItem;
    return (BOOL)::SendMessage(m_hWnd, TVM_GETITEMRECT, bTextOnly, (LPARAM)lpRect);
}

BOOL CTreeCtrl::GetCheck(HTREEITEM hItem) const {
    // The state image index less one: 0 unchecked, 1 checked; further state images
    // (a third state) answer 2 and up, and an item without a state image -1.
    UINT state = GetItemState(hItem, TVIS_STATEIMAGEMASK);
    return (BOOL)(state >> 12) - 1;
}

BOOL CTreeCtrl::SetCheck(HTREEITEM hItem, BOOL fCheck) {
    return SetItemState(hItem, INDEXTOSTATEIMAGEMASK(fCheck ? 2 : 1), TVIS_STATEIMAGEMASK);
}

HTREEITEM CTreeCtrl::InsertItem(UINT nMask, LPCTSTR lpszItem, int nImage, int nSelectedImage, UINT nState,
                                UINT nStateMask, LPARAM lParam, HTREEITEM hParent, HTREEITEM hInsertAfter) {
    TVINSERTSTRUCT tvis;
    ::ZeroMemory(&tvis, sizeof(tvis));
    tvis.hParent = hParent;
    tvis.hInsertAfter = hInsertAfter;
    tvis.item.mask = nMask;
    tvis.item.pszText = (LPTSTR)lpszItem;
    tvis.item.iImage = nImage;
    tvis.item.iSelectedImage = nSelectedImage;
    tvis.item.state = nState;
    tvis.item.stateMask = nStateMask;
    tvis.item.lParam = lParam;
    return InsertItem(&tvis);
}

HTREEITEM CTreeCtrl::InsertItem(LPCTSTR lpszItem, HTREEITEM hParent, HTREEITEM hInsertAfter) {
    return InsertItem(TVIF_TEXT, lpszItem, 0, 0, 0, 0, 0, hParent, hInsertAfter);
}

HTREEITEM CTreeCtrl::InsertItem(LPCTSTR lpszItem, int nImage, int nSelectedImage, HTREEITEM hParent,
                                HTREEITEM hInsertAfter) {
    return InsertItem(TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE, lpszItem, nImage, nSelectedImage, 0, 0, 0,
                      hParent, hInsertAfter);
}

CEdit* CTreeCtrl::EditLabel(HTREEITEM hItem) {
    return (CEdit*)CWnd::FromHandle((HWND)::SendMessage(m_hWnd, TVM_EDITLABEL, 0, (LPARAM)hItem));
}

HTREEITEM CTreeCtrl::HitTest(CPoint pt, UINT* pFlags) const {
    TVHITTESTINFO hti;
    ::ZeroMemory(&hti, sizeof(hti));
    hti.pt = pt;
    HTREEITEM h = HitTest(&hti);
    if (pFlags != NULL) *pFlags = hti.flags;
    return h;
}

CImageList* CTreeCtrl::CreateDragImage(HTREEITEM hItem) {
    HIMAGELIST h = (HIMAGELIST)::SendMessage(m_hWnd, TVM_CREATEDRAGIMAGE, 0, (LPARAM)hItem);
    if (h == NULL) return NULL;
    CImageList* pList = new CImageList;  // the caller deletes it
    pList->Attach(h);
    return pList;
}
