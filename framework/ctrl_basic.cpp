#include "framework/ctrl_basic.h"

// A control object that owns its window destroys it while the object still is of its
// own class, so that the WM_DELETEITEM notices of the destruction reach it.
void AFXAPI AfxDestroyOwnedControl(CWnd* pWnd) {
    if (pWnd->m_hWnd != NULL && CWnd::FromHandlePermanent(pWnd->m_hWnd) == pWnd) pWnd->DestroyWindow();
}

IMPLEMENT_DYNAMIC(CStatic, CWnd)
IMPLEMENT_DYNAMIC(CButton, CWnd)
IMPLEMENT_DYNAMIC(CEdit, CWnd)
IMPLEMENT_DYNAMIC(CListBox, CWnd)
IMPLEMENT_DYNAMIC(CComboBox, CWnd)
IMPLEMENT_DYNAMIC(CScrollBar, CWnd)

/////////////////////////////////////////////////////////////////////////////
// CStatic

CStatic::~CStatic() { AfxDestroyOwnedControl(this); }

BOOL CStatic::Create(LPCTSTR lpszText, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
    return CWnd::Create(_T("STATIC"), lpszText, dwStyle, rect, pParentWnd, nID);
}

void CStatic::DrawItem(LPDRAWITEMSTRUCT) {}

BOOL CStatic::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    LRESULT lResult = TRUE;
    if (!AfxReflectDrawItem(this, message, lParam, lResult))
        return CWnd::OnChildNotify(message, wParam, lParam, pResult);
    if (pResult)
        *pResult = lResult;
    return TRUE;
}

/////////////////////////////////////////////////////////////////////////////
// CButton

CButton::~CButton() { AfxDestroyOwnedControl(this); }

BOOL CButton::Create(LPCTSTR lpszCaption, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
    return CWnd::Create(_T("BUTTON"), lpszCaption, dwStyle, rect, pParentWnd, nID);
}

void CButton::DrawItem(LPDRAWITEMSTRUCT) {}

BOOL CButton::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    LRESULT lResult = TRUE;
    if (!AfxReflectDrawItem(this, message, lParam, lResult))
        return CWnd::OnChildNotify(message, wParam, lParam, pResult);
    if (pResult)
        *pResult = lResult;
    return TRUE;
}

/////////////////////////////////////////////////////////////////////////////
// CEdit

CEdit::~CEdit() { AfxDestroyOwnedControl(this); }

BOOL CEdit::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
    return CWnd::Create(_T("EDIT"), NULL, dwStyle, rect, pParentWnd, nID);
}

int CEdit::GetLine(int nIndex, LPTSTR lpszBuffer, int nMaxLength) const {
    if (lpszBuffer == NULL || nMaxLength <= 0) return 0;
    // EM_GETLINE takes the buffer size in the buffer's first WORD, which needs room
    // for two characters; a one-character buffer goes through a local one.
    if (nMaxLength < (int)sizeof(WORD)) {
        TCHAR tmp[2] = {0, 0};
        *(LPWORD)tmp = (WORD)nMaxLength;
        int n = (int)::SendMessage(m_hWnd, EM_GETLINE, nIndex, (LPARAM)tmp);
        if (n > 0) lpszBuffer[0] = tmp[0];
        return n > 0 ? 1 : 0;
    }
    *(LPWORD)lpszBuffer = (WORD)(nMaxLength > 0xFFFF ? 0xFFFF : nMaxLength);
    return (int)::SendMessage(m_hWnd, EM_GETLINE, nIndex, (LPARAM)lpszBuffer);
}

/////////////////////////////////////////////////////////////////////////////
// CListBox

CListBox::~CListBox() { AfxDestroyOwnedControl(this); }

BOOL CListBox::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
    return CWnd::Create(_T("LISTBOX"), NULL, dwStyle, rect, pParentWnd, nID);
}

UINT CListBox::ItemFromPoint(CPoint pt, BOOL& bOutside) const {
    DWORD d = (DWORD)::SendMessage(m_hWnd, LB_ITEMFROMPOINT, 0, MAKELPARAM(pt.x, pt.y));
    bOutside = (BOOL)HIWORD(d);
    return LOWORD(d);
}

void CListBox::GetText(int nIndex, CString& rString) const {
    rString.Empty();
    int nLen = GetTextLen(nIndex);
    if (nLen == LB_ERR) return;
    LPTSTR p = rString.GetBuffer(nLen + 1);
    int n = GetText(nIndex, p);
    rString.ReleaseBuffer(n == LB_ERR ? 0 : n);
}

void CListBox::DrawItem(LPDRAWITEMSTRUCT) {}
void CListBox::MeasureItem(LPMEASUREITEMSTRUCT) {}
int CListBox::CompareItem(LPCOMPAREITEMSTRUCT) { return 0; }
void CListBox::DeleteItem(LPDELETEITEMSTRUCT) {}
int CListBox::VKeyToItem(UINT, UINT) { return -1; }
int CListBox::CharToItem(UINT, UINT) { return -1; }

BOOL CListBox::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    LRESULT lResult = TRUE;
    if (!AfxReflectOwnerDrawItem(this, message, lParam, lResult))
    {
        switch (message)
        {
        case WM_VKEYTOITEM:
            lResult = VKeyToItem(LOWORD(wParam), HIWORD(wParam));
            break;
        case WM_CHARTOITEM:
            lResult = CharToItem(LOWORD(wParam), HIWORD(wParam));
            break;
        default:
            return CWnd::OnChildNotify(message, wParam, lParam, pResult);
        }
    }
    if (pResult) *pResult = lResult;
    return TRUE;
}

/////////////////////////////////////////////////////////////////////////////
// CComboBox

CComboBox::~CComboBox() { AfxDestroyOwnedControl(this); }

BOOL CComboBox::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
    return CWnd::Create(_T("COMBOBOX"), NULL, dwStyle, rect, pParentWnd, nID);
}

BOOL CComboBox::GetComboBoxInfo(PCOMBOBOXINFO pcbi) const {
    if (pcbi == NULL) return FALSE;
    pcbi->cbSize = sizeof(COMBOBOXINFO);
    return ::GetComboBoxInfo(m_hWnd, pcbi);
}

void CComboBox::GetLBText(int nIndex, CString& rString) const {
    rString.Empty();
    int nLen = GetLBTextLen(nIndex);
    if (nLen == CB_ERR) return;
    LPTSTR p = rString.GetBuffer(nLen + 1);
    int n = GetLBText(nIndex, p);
    rString.ReleaseBuffer(n == CB_ERR ? 0 : n);
}

void CComboBox::DrawItem(LPDRAWITEMSTRUCT) {}
void CComboBox::MeasureItem(LPMEASUREITEMSTRUCT) {}
int CComboBox::CompareItem(LPCOMPAREITEMSTRUCT) { return 0; }
void CComboBox::DeleteItem(LPDELETEITEMSTRUCT) {}

BOOL CComboBox::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    LRESULT lResult = TRUE;
    if (!AfxReflectOwnerDrawItem(this, message, lParam, lResult))
        return CWnd::OnChildNotify(message, wParam, lParam, pResult);
    if (pResult) *pResult = lResult;
    return TRUE;
}

/////////////////////////////////////////////////////////////////////////////
// CScrollBar

CScrollBar::~CScrollBar() { AfxDestroyOwnedControl(this); }

BOOL CScrollBar::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
    return CWnd::Create(_T("SCROLLBAR"), NULL, dwStyle, rect, pParentWnd, nID);
}

BOOL CScrollBar::SetScrollInfo(LPSCROLLINFO lpScrollInfo, BOOL bRedraw) {
    if (lpScrollInfo == NULL) return FALSE;
    lpScrollInfo->cbSize = sizeof(SCROLLINFO);
    ::SetScrollInfo(m_hWnd, SB_CTL, lpScrollInfo, bRedraw);
    return TRUE;
}

BOOL CScrollBar::GetScrollInfo(LPSCROLLINFO lpScrollInfo, UINT nMask) {
    if (lpScrollInfo == NULL) return FALSE;
    lpScrollInfo->cbSize = sizeof(SCROLLINFO);
    lpScrollInfo->fMask = nMask;
    return ::GetScrollInfo(m_hWnd, SB_CTL, lpScrollInfo);
}

int CScrollBar::GetScrollLimit() {
    SCROLLINFO info;
    ::ZeroMemory(&info, sizeof(info));
    if (!GetScrollInfo(&info, SIF_RANGE | SIF_PAGE)) return 0;
    int page = info.nPage > 1 ? (int)info.nPage - 1 : 0;
    return info.nMax - page;
}
