// In-place edit items: a menu item that shows a text value inside its row and opens an
// edit control over that area. The owner decides storage and rules through callbacks:
// every key is checked by the validate callback (a rejected key leaves text and caret as
// they were), Enter commits through the apply callback and closes the menu, Esc gives the
// focus back to the menu with the value unchanged. The command receiver may supply its
// own edit window instead.
#include "toolkit/menus/popup_menu_wnd.h"

#include "toolkit/theme/paint_manager.h"

namespace {

typedef CExtPopupMenuWnd::MENUITEMDATA MENUITEMDATA;

}  // namespace

const UINT CExtPopupMenuWnd::CInPlaceEditWnd::g_nMsgDeleteSelection =
    ::RegisterWindowMessage(_T("CExtPopupMenuWnd::CInPlaceEditWnd::g_nMsgDeleteSelection"));
const UINT CExtPopupMenuWnd::CInPlaceEditWnd::g_nMsgSelectAll =
    ::RegisterWindowMessage(_T("CExtPopupMenuWnd::CInPlaceEditWnd::g_nMsgSelectAll"));

// ---- the item's part ------------------------------------------------------------------------
bool CExtPopupMenuWnd::MENUITEMDATA::CreateInplaceEdit(CWnd* pParentMenu, RECT rcEdit)
{
    if (!IsInplaceEdit() || pParentMenu == NULL)
        return false;
    m_pWndInplaceEdit = NULL;
    if (m_hWndCmdReceiver != NULL && ::IsWindow(m_hWndCmdReceiver))
    {
        INPLACEEDITREQUEST req;
        req.m_ppWndEdit = &m_pWndInplaceEdit;
        req.m_pPopup = DYNAMIC_DOWNCAST(CExtPopupMenuWnd, pParentMenu);
        req.m_pItem = this;
        req.m_pStr = m_pInplaceEditStr;
        req.m_pCbValidate = m_pCbInplaceEditValidate;
        req.m_pCbApply = m_pCbInplaceEditCommit;
        req.m_pCbMsgFilter = m_pCbInplaceEditDraw;
        req.m_pCookie = m_pInplaceEditCookie;
        req.m_rcEdit = rcEdit;
        ::SendMessage(m_hWndCmdReceiver, g_nMsgCreateInplaceEdit, (WPARAM)&req, 0);
        if (m_pWndInplaceEdit != NULL)
            return true;
    }
    CInPlaceEditWnd* pEdit = new CInPlaceEditWnd(m_pInplaceEditStr, m_pCbInplaceEditValidate,
                                                 m_pCbInplaceEditCommit, m_pCbInplaceEditDraw, m_pInplaceEditCookie);
    if (!pEdit->Create(pParentMenu, rcEdit, m_nCmdID))
    {
        if (pEdit->GetSafeHwnd() == NULL)
            delete pEdit;
        m_pWndInplaceEdit = NULL;
        return false;
    }
    m_pWndInplaceEdit = pEdit;
    return true;
}

void CExtPopupMenuWnd::MENUITEMDATA::SetInplaceEditText(LPCTSTR sText)
{
    m_sEditText.Empty();
    m_nEditFlags &= ~0x02;
    if (IsInplaceEdit() && sText != NULL)
    {
        m_sEditText = sText;
        m_nEditFlags |= 0x02;
    }
}

// ---- the edit window --------------------------------------------------------------------------
CExtPopupMenuWnd::CInPlaceEditWnd::CInPlaceEditWnd(CString* pStr, pCbInplaceEditValidate pCbValidate,
                                                   pCbInplaceEditApply pCbApply,
                                                   pCbInplaceEditMsgFilter pCbMsgFilter, LPVOID pCookie)
    : m_pCbValidate(pCbValidate), m_pCbApply(pCbApply), m_pCbMsgFilter(pCbMsgFilter), m_pCookie(pCookie),
      m_pStr(pStr), m_nFlags(0)
{
}

CExtPopupMenuWnd::CInPlaceEditWnd::~CInPlaceEditWnd() {}

// The menu allocated this edit; it goes with its window.
void CExtPopupMenuWnd::CInPlaceEditWnd::PostNcDestroy() { delete this; }

CExtPopupMenuWnd* CExtPopupMenuWnd::CInPlaceEditWnd::GetMenu() const
{
    HWND hWndParent = (m_hWnd != NULL) ? ::GetParent(m_hWnd) : NULL;
    return DYNAMIC_DOWNCAST(CExtPopupMenuWnd, CWnd::FromHandlePermanent(hWndParent));
}

bool CExtPopupMenuWnd::CInPlaceEditWnd::Create(CWnd* pParentMenu, RECT rc, UINT nID)
{
    m_nFlags &= ~0x01;
    m_sText = (m_pStr != NULL) ? *m_pStr : CString();
    if (pParentMenu == NULL || pParentMenu->GetSafeHwnd() == NULL)
        return false;
    if (!CEdit::Create(WS_CHILD | ES_AUTOHSCROLL, rc, pParentMenu, nID))
        return false;
    CExtPopupMenuWnd* pMenu = DYNAMIC_DOWNCAST(CExtPopupMenuWnd, pParentMenu);
    CExtPaintManager* pPM = (pMenu != NULL) ? pMenu->GetPaintManager() : g_CurrentPaintManager.GetPM();
    if (pPM != NULL)
        ::SendMessage(m_hWnd, WM_SETFONT, (WPARAM)pPM->m_FontNormal.GetSafeHandle(), TRUE);
    ::SetWindowText(m_hWnd, m_sText);
    ::SendMessage(m_hWnd, EM_SETSEL, 0, -1);
    ::SendMessage(m_hWnd, EM_EMPTYUNDOBUFFER, 0, 0);
    if (pMenu != NULL && pMenu->IsLayoutRTL())
    {
        ::SetWindowLong(m_hWnd, GWL_EXSTYLE, ::GetWindowLong(m_hWnd, GWL_EXSTYLE) | WS_EX_LAYOUTRTL);
        ::SetWindowPos(m_hWnd, NULL, 0, 0, 0, 0,
                       SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    }
    return true;
}

namespace {

CString WindowText(HWND hWnd)
{
    const int n = ::GetWindowTextLength(hWnd);
    CString s;
    if (n > 0)
    {
        ::GetWindowText(hWnd, s.GetBuffer(n + 1), n + 1);
        s.ReleaseBuffer();
    }
    return s;
}

}  // namespace

LRESULT CExtPopupMenuWnd::CInPlaceEditWnd::ValidatedTyping(UINT message, WPARAM wParam, LPARAM lParam)
{
    const CString sOld = WindowText(m_hWnd);
    DWORD dwStart = 0, dwEnd = 0;
    ::SendMessage(m_hWnd, EM_GETSEL, (WPARAM)&dwStart, (LPARAM)&dwEnd);
    HWND hWnd = m_hWnd;
    ::SendMessage(hWnd, WM_SETREDRAW, FALSE, 0);
    const LRESULT lResult = CEdit::WindowProc(message, wParam, lParam);
    if (!::IsWindow(hWnd))
        return lResult;
    CString sNew = WindowText(hWnd);
    if (m_pCbValidate != NULL && sNew != sOld && !m_pCbValidate(this, m_pCookie, sNew))
    {
        ::SendMessage(hWnd, EM_SETSEL, 0, -1);
        ::SendMessage(hWnd, EM_EMPTYUNDOBUFFER, 0, 0);
        ::SendMessage(hWnd, EM_REPLACESEL, FALSE, (LPARAM)(LPCTSTR)sOld);
        ::SendMessage(hWnd, EM_SETSEL, dwStart, dwEnd);
    }
    ::SendMessage(hWnd, WM_SETREDRAW, TRUE, 0);
    ::InvalidateRect(hWnd, NULL, TRUE);
    ::UpdateWindow(hWnd);
    return lResult;
}

LRESULT CExtPopupMenuWnd::CInPlaceEditWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (m_pCbMsgFilter != NULL)
    {
        LRESULT lResult = 0;
        if (m_pCbMsgFilter(&lResult, message, wParam, lParam, this, m_pCookie))
            return lResult;
    }
    switch (message)
    {
    case WM_NCCALCSIZE:
    {
        RECT* pRc = (RECT*)lParam;
        if (pRc != NULL)
        {
            pRc->left += 1;
            pRc->top += 1;
            pRc->bottom -= 2;
        }
        return 0;
    }
    case WM_NCPAINT:
    {
        CRect rcWnd, rcClient;
        GetWindowRect(&rcWnd);
        GetClientRect(&rcClient);
        ClientToScreen(&rcClient);
        if (rcWnd != rcClient)
        {
            rcClient.OffsetRect(-rcWnd.left, -rcWnd.top);
            rcWnd.OffsetRect(-rcWnd.left, -rcWnd.top);
            CWindowDC dc(this);
            dc.ExcludeClipRect(&rcClient);
            CExtPopupMenuWnd* pMenu = GetMenu();
            CExtPaintManager* pPM = (pMenu != NULL) ? pMenu->GetPaintManager() : g_CurrentPaintManager.GetPM();
            const COLORREF clr = (pPM != NULL) ? pPM->LookupColor(COLOR_WINDOW, this) : ::GetSysColor(COLOR_WINDOW);
            dc.FillSolidRect(&rcWnd, clr);
        }
        return 0;
    }
    case WM_GETDLGCODE: return DLGC_WANTCHARS | DLGC_WANTALLKEYS | DLGC_WANTTAB;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_RBUTTONDBLCLK:
    case WM_CONTEXTMENU: return 0;
    case WM_KEYDOWN:
    {
        const HWND hWnd = m_hWnd;
        if (wParam == VK_ESCAPE)
        {
            CExtPopupMenuWnd* pMenu = GetMenu();
            if (pMenu == NULL)
                return 0;
            HWND hWndMenu = pMenu->GetSafeHwnd();
            const int nCur = pMenu->m_nCurIndex;
            ::SetFocus(hWndMenu);
            pMenu->SelectItem(-1, false, true, false);
            if (::IsWindow(hWndMenu))
                pMenu->SelectItem(nCur, false, true, false);
            return 0;
        }
        if (wParam == VK_RETURN)
        {
            m_nFlags |= 0x01;
            CString sText = WindowText(hWnd);
            if (m_pCbValidate != NULL && !m_pCbValidate(this, m_pCookie, sText))
                return 0;
            if (!::IsWindow(hWnd))
                return 0;
            if (m_pCbApply != NULL)
                m_pCbApply(this, m_pCookie, sText);
            else if (m_pStr != NULL)
                *m_pStr = sText;
            if (::IsWindow(hWnd))
            {
                HWND hWndMenu = ::GetParent(hWnd);
                if (hWndMenu != NULL)
                    ::PostMessage(hWndMenu, WM_CANCELMODE, 0, 0);
            }
            return 0;
        }
        if (wParam == VK_MENU || (::GetKeyState(VK_MENU) & 0x8000) != 0)
        {
            ::PostMessage(::GetParent(hWnd), WM_CANCELMODE, 0, 0);
            return 0;
        }
        return ValidatedTyping(message, wParam, lParam);
    }
    case WM_CHAR:
        if (wParam == VK_RETURN)
            break;
        return ValidatedTyping(message, wParam, lParam);
    case WM_KILLFOCUS:
        ShowWindow(SW_HIDE);
        if (!IsCommitted())
            ::SetWindowText(m_hWnd, (m_pStr != NULL) ? (LPCTSTR)*m_pStr : _T(""));
        break;
    default:
        if (message == g_nMsgDeleteSelection)
        {
            DWORD dwStart = 0, dwEnd = 0;
            ::SendMessage(m_hWnd, EM_GETSEL, (WPARAM)&dwStart, (LPARAM)&dwEnd);
            if (dwStart == dwEnd)
            {
                ::SendMessage(m_hWnd, WM_SETREDRAW, FALSE, 0);
                ::SendMessage(m_hWnd, EM_SETSEL, dwStart, dwStart + 1);
                ::SendMessage(m_hWnd, EM_EMPTYUNDOBUFFER, 0, 0);
                ::SendMessage(m_hWnd, EM_REPLACESEL, FALSE, (LPARAM) _T(""));
                ::SendMessage(m_hWnd, EM_SETSEL, dwStart, dwStart);
                ::SendMessage(m_hWnd, EM_EMPTYUNDOBUFFER, 0, 0);
                ::SendMessage(m_hWnd, WM_SETREDRAW, TRUE, 0);
                ::InvalidateRect(m_hWnd, NULL, TRUE);
            }
            else
                ::SendMessage(m_hWnd, EM_REPLACESEL, TRUE, (LPARAM) _T(""));
            return 0;
        }
        if (message == g_nMsgSelectAll)
        {
            ::SendMessage(m_hWnd, EM_SETSEL, 0, -1);
            ::SendMessage(m_hWnd, EM_EMPTYUNDOBUFFER, 0, 0);
            return 0;
        }
        break;
    }
    return CEdit::WindowProc(message, wParam, lParam);
}

// ---- the menu's side ----------------------------------------------------------------------------
// Creates the edits of the in-place items once the window has its size; hidden items get
// an empty rectangle.
void CExtPopupMenuWnd::CreateInplaceEdits()
{
    const bool bRTL = IsLayoutRTL();
    for (int i = 0; i < ItemGetCount(); i++)
    {
        MENUITEMDATA& mi = m_items.ElementAt(i);
        if (!mi.IsInplaceEdit())
            continue;
        mi.m_pWndInplaceEdit = NULL;
        CRect rcEdit(0, 0, 0, 0);
        if (mi.IsDisplayed())
        {
            CRect rcItem;
            GetItemRect(i, rcItem, true);
            mi.GetInplaceEditRect(rcEdit, rcItem, bRTL);
        }
        mi.CreateInplaceEdit(this, rcEdit);
    }
}

// Scrolling moves the item rectangles; the edits go with them.
void CExtPopupMenuWnd::MoveInplaceEdits()
{
    if (GetSafeHwnd() == NULL)
        return;
    const bool bRTL = IsLayoutRTL();
    for (int i = 0; i < ItemGetCount(); i++)
    {
        MENUITEMDATA& mi = m_items.ElementAt(i);
        CWnd* pEdit = mi.GetInplaceEditWnd();
        if (pEdit == NULL || pEdit->GetSafeHwnd() == NULL)
            continue;
        CRect rcEdit(0, 0, 0, 0);
        if (mi.IsDisplayed())
        {
            CRect rcItem;
            GetItemRect(i, rcItem, true);
            mi.GetInplaceEditRect(rcEdit, rcItem, bRTL);
        }
        pEdit->SetWindowPos(NULL, rcEdit.left, rcEdit.top, rcEdit.Width(), rcEdit.Height(),
                            SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
    }
}

// Puts the edit of an in-place item over its part of the row and gives it the focus.
bool CExtPopupMenuWnd::ShowInplaceEdit(int nIndex)
{
    if (nIndex < 0 || nIndex >= ItemGetCount())
        return false;
    MENUITEMDATA& mi = m_items.ElementAt(nIndex);
    CWnd* pEdit = mi.GetInplaceEditWnd();
    if (pEdit == NULL || pEdit->GetSafeHwnd() == NULL || !mi.IsInplaceEditActive())
        return false;
    CRect rcItem, rcEdit;
    GetItemRect(nIndex, rcItem, true);
    mi.GetInplaceEditRect(rcEdit, rcItem, IsLayoutRTL());
    pEdit->SetWindowPos(NULL, rcEdit.left, rcEdit.top, rcEdit.Width(), rcEdit.Height(),
                        SWP_SHOWWINDOW | SWP_NOACTIVATE | SWP_NOZORDER | SWP_NOOWNERZORDER);
    pEdit->SetFocus();
    return true;
}

// The item whose in-place edit is (or contains) the window, -1 when none.
int CExtPopupMenuWnd::FindInplaceEditItem(HWND hWnd) const
{
    if (hWnd == NULL)
        return -1;
    for (int i = 0; i < ItemGetCount(); i++)
    {
        CWnd* pEdit = m_items.GetAt(i).GetInplaceEditWnd();
        if (pEdit != NULL && pEdit->GetSafeHwnd() != NULL &&
            (pEdit->GetSafeHwnd() == hWnd || ::IsChild(pEdit->GetSafeHwnd(), hWnd)))
            return i;
    }
    return -1;
}

// The keys that reach the menu while one of its in-place edits has the focus; the edit
// gets every other key itself (bNoEat).
bool CExtPopupMenuWnd::OnInplaceEditKey(UINT nChar, bool& bNoEat)
{
    HWND hWndFocus = ::GetFocus();
    const bool bAlt = (::GetAsyncKeyState(VK_MENU) & 0x8000) != 0;
    const bool bCtrl = (::GetAsyncKeyState(VK_CONTROL) & 0x8000) != 0;
    const bool bShift = (::GetAsyncKeyState(VK_SHIFT) & 0x8000) != 0;
    if (bAlt)
    {
        ::PostMessage(m_hWnd, WM_CANCELMODE, 0, 0);
        return true;
    }
    switch (nChar)
    {
    case VK_ESCAPE: ::SetFocus(m_hWnd); return true;
    case VK_INSERT:
        if (bCtrl)
        {
            ::SendMessage(hWndFocus, WM_COPY, 0, 0);
            return true;
        }
        if (bShift)
        {
            ::SendMessage(hWndFocus, WM_PASTE, 0, 0);
            return true;
        }
        break;
    case VK_DELETE:
        if (bShift)
            ::SendMessage(hWndFocus, WM_CUT, 0, 0);
        else
            ::SendMessage(hWndFocus, CInPlaceEditWnd::g_nMsgDeleteSelection, 0, 0);
        return true;
    case 'C':
        if (bCtrl)
        {
            ::SendMessage(hWndFocus, WM_COPY, 0, 0);
            return true;
        }
        break;
    case 'X':
        if (bCtrl)
        {
            ::SendMessage(hWndFocus, WM_CUT, 0, 0);
            return true;
        }
        break;
    case 'V':
        if (bCtrl)
        {
            ::SendMessage(hWndFocus, WM_PASTE, 0, 0);
            return true;
        }
        break;
    case 'A':
        if (bCtrl)
        {
            ::SendMessage(hWndFocus, CInPlaceEditWnd::g_nMsgSelectAll, 0, 0);
            return true;
        }
        break;
    default: break;
    }
    bNoEat = true;
    return false;
}
