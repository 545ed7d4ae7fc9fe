#include "framework/ctrl_list.h"
#include "framework/ctrl_common.h"

IMPLEMENT_DYNAMIC(CHeaderCtrl, CWnd)
IMPLEMENT_DYNAMIC(CListCtrl, CWnd)

/////////////////////////////////////////////////////////////////////////////
// CHeaderCtrl

CHeaderCtrl::~CHeaderCtrl() { AfxDestroyOwnedControl(this); }

BOOL CHeaderCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
    AfxInitCommonControls(ICC_LISTVIEW_CLASSES);
    return CWnd::Create(WC_HEADER, NULL, dwStyle, rect, pParentWnd, nID);
}

BOOL CHeaderCtrl::CreateEx(DWORD dwExStyle, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
    AfxInitCommonControls(ICC_LISTVIEW_CLASSES);
    return CWnd::CreateEx(dwExStyle, WC_HEADER, NULL, dwStyle, rect, pParentWnd, nID);
}

BOOL CHeaderCtrl::GetOrderArray(LPINT piArray, int iCount) const {
    if (piArray == NULL) return FALSE;
    if (iCount == -1) iCount = GetItemCount();
    if (iCount <= 0) return FALSE;
    return (BOOL)::SendMessage(m_hWnd, HDM_GETORDERARRAY, iCount, (LPARAM)piArray);
}

CImageList* CHeaderCtrl::SetImageList(CImageList* pImageList) {
    return CImageList::FromHandle(
        (HIMAGELIST)::SendMessage(m_hWnd, HDM_SETIMAGELIST, 0, (LPARAM)pImageList->GetSafeHandle()));
}

CImageList* CHeaderCtrl::GetImageList() const {
    return CImageList::FromHandle((HIMAGELIST)::SendMessage(m_hWnd, HDM_GETIMAGELIST, 0, 0));
}

CImageList* CHeaderCtrl::CreateDragImage(int nIndex) {
    HIMAGELIST h = (HIMAGELIST)::SendMessage(m_hWnd, HDM_CREATEDRAGIMAGE, nIndex, 0);
    if (h == NULL) return NULL;
    CImageList* pList = new CImageList;  // the caller deletes it
    pList->Attach(h);
    return pList;
}

void CHeaderCtrl::DrawItem(LPDRAWITEMSTRUCT) {}

BOOL CHeaderCtrl::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    LRESULT lResult = TRUE;
    if (!AfxReflectDrawItem(this, message, lParam, lResult))
        return CWnd::OnChildNotify(message, wParam, lParam, pResult);
    if (pResult)
        *pResult = lResult;
    return TRUE;
}

/////////////////////////////////////////////////////////////////////////////
// CListCtrl

CListCtrl::~CListCtrl() { AfxDestroyOwnedControl(this); }

BOOL CListCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
    AfxInitCommonControls(ICC_LISTVIEW_CLASSES);
    return CWnd::Create(WC_LISTVIEW, NULL, dwStyle, rect, pParentWnd, nID);
}

BOOL CListCtrl::CreateEx(DWORD dwExStyle, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
    AfxInitCommonControls(ICC_LISTVIEW_CLASSES);
    return CWnd::CreateEx(dwExStyle, WC_LISTVIEW, NULL, dwStyle, rect, pParentWnd, nID);
}

CImageList* CListCtrl::GetImageList(int nImageList) const {
    return CImageList::FromHandle((HIMAGELIST)::SendMessage(m_hWnd, LVM_GETIMAGELIST, nImageList, 0));
}

CImageList* CListCtrl::SetImageList(CImageList* pImageList, int nImageListType) {
    return CImageList::FromHandle((HIMAGELIST)::SendMessage(m_hWnd, LVM_SETIMAGELIST, nImageListType,
                                                            (LPARAM)pImageList->GetSafeHandle()));
}

CToolTipCtrl* CListCtrl::GetToolTips() const {
    return (CToolTipCtrl*)CWnd::FromHandle((HWND)::SendMessage(m_hWnd, LVM_GETTOOLTIPS, 0, 0));
}

CToolTipCtrl* CListCtrl::SetToolTips(CToolTipCtrl* pTip) {
    // The window goes in wParam; Wine's list view reads it from lParam, which Windows
    // ignores, so it goes in both.
    HWND hTip = pTip->GetSafeHwnd();
    return (CToolTipCtrl*)CWnd::FromHandle((HWND)::SendMessage(m_hWnd, LVM_SETTOOLTIPS, (WPARAM)hTip, (LPARAM)hTip));
}

CHeaderCtrl* CListCtrl::GetHeaderCtrl() const {
    // A temporary wrapper unless a CHeaderCtrl subclassed the header; CHeaderCtrl adds
    // no data to CWnd, so the temporary serves for its members.
    return (CHeaderCtrl*)CWnd::FromHandle((HWND)::SendMessage(m_hWnd, LVM_GETHEADER, 0, 0));
}

int CListCtrl::InsertColumn(int nCol, LPCTSTR lpszColumnHeading, int nFormat, int nWidth, int nSubItem) {
    LVCOLUMN column;
    ::ZeroMemory(&column, sizeof(column));
    column.mask = LVCF_TEXT | LVCF_FMT;
    column.pszText = (LPTSTR)lpszColumnHeading;
    column.fmt = nFormat;
    if (nWidth != -1) {
        column.mask |= LVCF_WIDTH;
        column.cx = nWidth;
    }
    if (nSubItem != -1) {
        column.mask |= LVCF_SUBITEM;
        column.iSubItem = nSubItem;
    }
    return InsertColumn(nCol, &column);
}

BOOL CListCtrl::GetColumnOrderArray(LPINT piArray, int iCount) const {
    if (piArray == NULL) return FALSE;
    if (iCount == -1) {
        HWND hHeader = (HWND)::SendMessage(m_hWnd, LVM_GETHEADER, 0, 0);
        iCount = hHeader != NULL ? (int)::SendMessage(hHeader, HDM_GETITEMCOUNT, 0, 0) : 0;
    }
    if (iCount <= 0) return FALSE;
    return (BOOL)::SendMessage(m_hWnd, LVM_GETCOLUMNORDERARRAY, iCount, (LPARAM)piArray);
}

int CListCtrl::InsertItem(int nItem, LPCTSTR lpszItem) {
    return InsertItem(LVIF_TEXT, nItem, lpszItem, 0, 0, 0, 0);
}

int CListCtrl::InsertItem(int nItem, LPCTSTR lpszItem, int nImage) {
    return InsertItem(LVIF_TEXT | LVIF_IMAGE, nItem, lpszItem, 0, 0, nImage, 0);
}

int CListCtrl::InsertItem(UINT nMask, int nItem, LPCTSTR lpszItem, UINT nState, UINT nStateMask, int nImage,
                          LPARAM lParam) {
    LVITEM item;
    ::ZeroMemory(&item, sizeof(item));
    item.mask = nMask;
    item.iItem = nItem;
    item.pszText = (LPTSTR)lpszItem;
    item.state = nState;
    item.stateMask = nStateMask;
    item.iImage = nImage;
    item.lParam = lParam;
    return InsertItem(&item);
}

BOOL CListCtrl::SetItem(int nItem, int nSubItem, UINT nMask, LPCTSTR lpszItem, int nImage, UINT nState,
                        UINT nStateMask, LPARAM lParam) {
    LVITEM item;
    ::ZeroMemory(&item, sizeof(item));
    item.mask = nMask;
    item.iItem = nItem;
    item.iSubItem = nSubItem;
    item.pszText = (LPTSTR)lpszItem;
    item.iImage = nImage;
    item.state = nState;
    item.stateMask = nStateMask;
    item.lParam = lParam;
    return SetItem(&item);
}

int CListCtrl::GetItemText(int nItem, int nSubItem, LPTSTR lpszText, int nLen) const {
    if (lpszText == NULL || nLen <= 0) return 0;
    LVITEM item;
    ::ZeroMemory(&item, sizeof(item));
    item.iSubItem = nSubItem;
    item.pszText = lpszText;
    item.cchTextMax = nLen;
    lpszText[0] = 0;
    return (int)::SendMessage(m_hWnd, LVM_GETITEMTEXT, nItem, (LPARAM)&item);
}

CString CListCtrl::GetItemText(int nItem, int nSubItem) const {
    // The control answers how much it copied, not how long the text is: grow the
    // buffer until the text fits with room to spare.
    CString str;
    for (int nLen = 256;; nLen *= 2) {
        LPTSTR p = str.GetBuffer(nLen);
        int n = GetItemText(nItem, nSubItem, p, nLen);
        str.ReleaseBuffer(n < 0 ? 0 : n);
        if (n < nLen - 1 || nLen >= (1 << 24)) break;
    }
    return str;
}

BOOL CListCtrl::SetItemText(int nItem, int nSubItem, LPCTSTR lpszText) {
    LVITEM item;
    ::ZeroMemory(&item, sizeof(item));
    item.iSubItem = nSubItem;
    item.pszText = (LPTSTR)lpszText;
    return (BOOL)::SendMessage(m_hWnd, LVM_SETITEMTEXT, nItem, (LPARAM)&item);
}

DWORD_PTR CListCtrl::GetItemData(int nItem) const {
    LVITEM item;
    ::ZeroMemory(&item, sizeof(item));
    item.mask = LVIF_PARAM;
    item.iItem = nItem;
    if (!GetItem(&item)) return 0;
    return (DWORD_PTR)item.lParam;
}

BOOL CListCtrl::SetItemData(int nItem, DWORD_PTR dwData) {
    return SetItem(nItem, 0, LVIF_PARAM, NULL, 0, 0, 0, (LPARAM)dwData);
}

BOOL CListCtrl::SetItemState(int nItem, UINT nState, UINT nMask) {
    LVITEM item;
    ::ZeroMemory(&item, sizeof(item));
    item.state = nState;
    item.stateMask = nMask;
    return SetItemState(nItem, &item);
}

BOOL CListCtrl::GetItemRect(int nItem, LPRECT lpRect, UINT nCode) const {
    if (lpRect == NULL) return FALSE;
    lpRect->left = (LONG)nCode;
    return (BOOL)::SendMessage(m_hWnd, LVM_GETITEMRECT, nItem, (LPARAM)lpRect);
}

BOOL CListCtrl::GetSubItemRect(int iItem, int iSubItem, int nArea, CRect& ref) const {
    RECT rect;
    rect.top = iSubItem;
    rect.left = nArea;
    rect.right = rect.bottom = 0;
    BOOL ok = (BOOL)::SendMessage(m_hWnd, LVM_GETSUBITEMRECT, iItem, (LPARAM)&rect);
    if (ok) ref = rect;
    return ok;
}

POSITION CListCtrl::GetFirstSelectedItemPosition() const {
    return (POSITION)(DWORD_PTR)(1 + GetNextItem(-1, LVNI_SELECTED));
}

int CListCtrl::GetNextSelectedItem(POSITION& pos) const {
    int nOld = (int)(DWORD_PTR)pos - 1;
    pos = (POSITION)(DWORD_PTR)(1 + GetNextItem(nOld, LVNI_SELECTED));
    return nOld;
}

CEdit* CListCtrl::EditLabel(int nItem) {
    return (CEdit*)CWnd::FromHandle((HWND)::SendMessage(m_hWnd, LVM_EDITLABEL, nItem, 0));
}

CEdit* CListCtrl::GetEditControl() const {
    return (CEdit*)CWnd::FromHandle((HWND)::SendMessage(m_hWnd, LVM_GETEDITCONTROL, 0, 0));
}

CImageList* CListCtrl::CreateDragImage(int nItem, LPPOINT lpPoint) {
    HIMAGELIST h = (HIMAGELIST)::SendMessage(m_hWnd, LVM_CREATEDRAGIMAGE, nItem, (LPARAM)lpPoint);
    if (h == NULL) return NULL;
    CImageList* pList = new CImageList;  // the caller deletes it
    pList->Attach(h);
    return pList;
}

int CListCtrl::HitTest(CPoint pt, UINT* pFlags) const {
    LVHITTESTINFO info;
    ::ZeroMemory(&info, sizeof(info));
    info.pt = pt;
    int nItem = HitTest(&info);
    if (pFlags != NULL) *pFlags = info.flags;
    return nItem;
}

void CListCtrl::DrawItem(LPDRAWITEMSTRUCT) {}

BOOL CListCtrl::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    LRESULT lResult = TRUE;
    if (!AfxReflectDrawItem(this, message, lParam, lResult))
        return CWnd::OnChildNotify(message, wParam, lParam, pResult);
    if (pResult)
        *pResult = lResult;
    return TRUE;
}
