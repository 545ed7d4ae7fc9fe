// CWnd's services: relations, geometry, painting, styles, text, menus, input and
// scrolling. Thin layers over the Win32 calls, returning framework objects where the
// classic class does (temporary ones for windows the program does not own).
#include "framework/wnd.h"
#include "framework/winthread.h"
#include "framework/app.h"
#include "framework/dc.h"
#include "framework/gdiobj.h"
#include "framework/menu.h"
#include "framework/ctrl_basic.h"

// ---- relations --------------------------------------------------------------------------

CWnd* CWnd::GetParent() const { return FromHandle(::GetParent(m_hWnd)); }

CWnd* CWnd::SetParent(CWnd* pWndNewParent) { return FromHandle(::SetParent(m_hWnd, pWndNewParent->GetSafeHwnd())); }

CWnd* CWnd::GetOwner() const {
    // The owner set with SetOwner, else the parent (for a top-level window ::GetParent
    // answers its owner window).
    return m_hWndOwner != NULL ? FromHandle(m_hWndOwner) : GetParent();
}

void CWnd::SetOwner(CWnd* pOwnerWnd) {
    // Only the routing changes: setting GWLP_HWNDPARENT would re-parent a child window.
    m_hWndOwner = pOwnerWnd != NULL ? pOwnerWnd->m_hWnd : NULL;
}

HWND AFXAPI AfxGetParentOwnerHwnd(HWND hWnd) {
    // A child's parent, or a popup's owner.
    if (::GetWindowLongA(hWnd, GWL_STYLE) & WS_CHILD) return ::GetParent(hWnd);
    return ::GetWindow(hWnd, GW_OWNER);
}

CWnd* AFXAPI AfxGetParentOwner(HWND hWnd) { return CWnd::FromHandle(AfxGetParentOwnerHwnd(hWnd)); }

CWnd* CWnd::GetParentOwner() const {
    if (m_hWnd == NULL) return NULL;
    HWND hWndParent = m_hWnd, hWndT;
    while ((::GetWindowLongA(hWndParent, GWL_STYLE) & WS_CHILD) && (hWndT = ::GetParent(hWndParent)) != NULL)
        hWndParent = hWndT;
    return FromHandle(hWndParent);
}

BOOL CWnd::IsFrameWnd() const {
    // Frames come with control bars in a later layer; until a frame class answers for
    // itself, its run-time class name identifies it.
    CRuntimeClass* pClass = CRuntimeClass::FromName("CFrameWnd");
    return pClass != NULL && IsKindOf(pClass);
}

CFrameWnd* CWnd::GetParentFrame() const {
    if (m_hWnd == NULL) return NULL;
    for (CWnd* pParent = GetParent(); pParent != NULL; pParent = pParent->GetParent()) {
        if (pParent->IsFrameWnd()) return (CFrameWnd*)pParent;
    }
    return NULL;
}

CWnd* CWnd::GetTopLevelParent() const {
    if (m_hWnd == NULL) return NULL;
    HWND hWndParent = m_hWnd, hWndT;
    while ((hWndT = AfxGetParentOwnerHwnd(hWndParent)) != NULL) hWndParent = hWndT;
    return FromHandle(hWndParent);
}

CWnd* CWnd::GetTopLevelOwner() const {
    if (m_hWnd == NULL) return NULL;
    HWND hWndOwner = m_hWnd, hWndT;
    while ((hWndT = ::GetWindow(hWndOwner, GW_OWNER)) != NULL) hWndOwner = hWndT;
    return FromHandle(hWndOwner);
}

CFrameWnd* CWnd::GetTopLevelFrame() const {
    if (m_hWnd == NULL) return NULL;
    CWnd* pFrame = IsFrameWnd() ? const_cast<CWnd*>(this) : NULL;
    for (CFrameWnd* p = GetParentFrame(); p != NULL; p = ((CWnd*)p)->GetParentFrame()) pFrame = (CWnd*)p;
    return (CFrameWnd*)pFrame;
}

CWnd* CWnd::GetDlgItem(int nID) const { return FromHandle(::GetDlgItem(m_hWnd, nID)); }
void CWnd::GetDlgItem(int nID, HWND* phWnd) const { *phWnd = ::GetDlgItem(m_hWnd, nID); }
int CWnd::GetDlgCtrlID() const { return ::GetDlgCtrlID(m_hWnd); }
int CWnd::SetDlgCtrlID(int nID) { return (int)::SetWindowLongPtrA(m_hWnd, GWLP_ID, nID); }
CWnd* CWnd::GetWindow(UINT nCmd) const { return FromHandle(::GetWindow(m_hWnd, nCmd)); }
CWnd* CWnd::GetTopWindow() const { return FromHandle(::GetTopWindow(m_hWnd)); }
CWnd* CWnd::GetNextWindow(UINT nFlag) const { return FromHandle(::GetWindow(m_hWnd, nFlag)); }
CWnd* CWnd::GetLastActivePopup() const { return FromHandle(::GetLastActivePopup(m_hWnd)); }
BOOL CWnd::IsChild(const CWnd* pWnd) const { return pWnd != NULL && ::IsChild(m_hWnd, pWnd->m_hWnd); }

BOOL AFXAPI AfxIsDescendant(HWND hWndParent, HWND hWndChild) {
    do {
        if (hWndParent == hWndChild) return TRUE;
        hWndChild = AfxGetParentOwnerHwnd(hWndChild);
    } while (hWndChild != NULL);
    return FALSE;
}

CWnd* PASCAL CWnd::GetDescendantWindow(HWND hWnd, int nID, BOOL bOnlyPerm) {
    // Direct children first (cheap), then depth-first.
    HWND hWndChild = ::GetDlgItem(hWnd, nID);
    if (hWndChild != NULL) {
        if (::GetTopWindow(hWndChild) != NULL) {
            CWnd* pWnd = GetDescendantWindow(hWndChild, nID, bOnlyPerm);
            if (pWnd != NULL) return pWnd;
        }
        CWnd* pWnd = bOnlyPerm ? FromHandlePermanent(hWndChild) : FromHandle(hWndChild);
        if (pWnd != NULL) return pWnd;
    }
    for (hWndChild = ::GetTopWindow(hWnd); hWndChild != NULL; hWndChild = ::GetWindow(hWndChild, GW_HWNDNEXT)) {
        CWnd* pWnd = GetDescendantWindow(hWndChild, nID, bOnlyPerm);
        if (pWnd != NULL) return pWnd;
    }
    return NULL;
}

CWnd* CWnd::GetDescendantWindow(int nID, BOOL bOnlyPerm) const { return GetDescendantWindow(m_hWnd, nID, bOnlyPerm); }

void PASCAL CWnd::SendMessageToDescendants(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam, BOOL bDeep,
                                           BOOL bOnlyPerm) {
    for (HWND hWndChild = ::GetTopWindow(hWnd); hWndChild != NULL; hWndChild = ::GetWindow(hWndChild, GW_HWNDNEXT)) {
        if (bOnlyPerm) {
            CWnd* pWnd = FromHandlePermanent(hWndChild);
            if (pWnd != NULL) AfxCallWndProc(pWnd, pWnd->m_hWnd, message, wParam, lParam);
        } else {
            ::SendMessageA(hWndChild, message, wParam, lParam);
        }
        if (bDeep && ::GetTopWindow(hWndChild) != NULL)
            SendMessageToDescendants(hWndChild, message, wParam, lParam, bDeep, bOnlyPerm);
    }
}

void CWnd::SendMessageToDescendants(UINT message, WPARAM wParam, LPARAM lParam, BOOL bDeep, BOOL bOnlyPerm) {
    // Without a window the walk would start at the desktop: every window on it.
    if (m_hWnd == NULL) return;
    SendMessageToDescendants(m_hWnd, message, wParam, lParam, bDeep, bOnlyPerm);
}

CWnd* PASCAL CWnd::WindowFromPoint(POINT point) { return FromHandle(::WindowFromPoint(point)); }
CWnd* CWnd::ChildWindowFromPoint(POINT point) const { return FromHandle(::ChildWindowFromPoint(m_hWnd, point)); }
CWnd* CWnd::ChildWindowFromPoint(POINT point, UINT nFlags) const {
    return FromHandle(::ChildWindowFromPointEx(m_hWnd, point, nFlags));
}
CWnd* PASCAL CWnd::GetDesktopWindow() { return FromHandle(::GetDesktopWindow()); }
CWnd* PASCAL CWnd::FindWindow(LPCTSTR lpszClassName, LPCTSTR lpszWindowName) {
    return FromHandle(::FindWindowA(lpszClassName, lpszWindowName));
}

HWND PASCAL CWnd::GetSafeOwner_(HWND hParent, HWND* pWndTop) {
    HWND hWnd = hParent;
    if (hWnd == NULL) {
        CWnd* pWnd = AfxGetMainWnd();
        hWnd = pWnd ? pWnd->m_hWnd : NULL;
    }
    // The top-level window of that, and its last active popup as the owner.
    while (hWnd != NULL && (::GetWindowLongA(hWnd, GWL_STYLE) & WS_CHILD)) hWnd = ::GetParent(hWnd);
    HWND hWndTop = hWnd;
    if (hWndTop != NULL) {
        HWND hWndOwner;
        while ((hWndOwner = ::GetParent(hWndTop)) != NULL) hWndTop = hWndOwner;
    }
    if (hParent == NULL && hWnd != NULL) hWnd = ::GetLastActivePopup(hWnd);
    if (pWndTop != NULL) {
        if (hWndTop != NULL && ::IsWindowEnabled(hWndTop) && hWndTop != hWnd) {
            *pWndTop = hWndTop;
            ::EnableWindow(hWndTop, FALSE);
        } else {
            *pWndTop = NULL;
        }
    }
    return hWnd;
}

CWnd* PASCAL CWnd::GetSafeOwner(CWnd* pParent, HWND* pWndTop) {
    return FromHandle(GetSafeOwner_(pParent->GetSafeHwnd(), pWndTop));
}

// ---- geometry and state -----------------------------------------------------------------

void CWnd::GetWindowRect(LPRECT lpRect) const { ::GetWindowRect(m_hWnd, lpRect); }
void CWnd::GetClientRect(LPRECT lpRect) const { ::GetClientRect(m_hWnd, lpRect); }
void CWnd::ClientToScreen(LPPOINT lpPoint) const { ::ClientToScreen(m_hWnd, lpPoint); }
void CWnd::ClientToScreen(LPRECT lpRect) const {
    ::ClientToScreen(m_hWnd, (LPPOINT)lpRect);
    ::ClientToScreen(m_hWnd, ((LPPOINT)lpRect) + 1);
    if (GetExStyle() & WS_EX_LAYOUTRTL) {
        LONG t = lpRect->left;
        lpRect->left = lpRect->right;
        lpRect->right = t;
    }
}
void CWnd::ScreenToClient(LPPOINT lpPoint) const { ::ScreenToClient(m_hWnd, lpPoint); }
void CWnd::ScreenToClient(LPRECT lpRect) const {
    ::ScreenToClient(m_hWnd, (LPPOINT)lpRect);
    ::ScreenToClient(m_hWnd, ((LPPOINT)lpRect) + 1);
    if (GetExStyle() & WS_EX_LAYOUTRTL) {
        LONG t = lpRect->left;
        lpRect->left = lpRect->right;
        lpRect->right = t;
    }
}
void CWnd::MapWindowPoints(CWnd* pwndTo, LPRECT lpRect) const {
    ::MapWindowPoints(m_hWnd, pwndTo->GetSafeHwnd(), (LPPOINT)lpRect, 2);
}
void CWnd::MapWindowPoints(CWnd* pwndTo, LPPOINT lpPoint, UINT nCount) const {
    ::MapWindowPoints(m_hWnd, pwndTo->GetSafeHwnd(), lpPoint, nCount);
}
void CWnd::MoveWindow(int x, int y, int nWidth, int nHeight, BOOL bRepaint) {
    ::MoveWindow(m_hWnd, x, y, nWidth, nHeight, bRepaint);
}
void CWnd::MoveWindow(LPCRECT lpRect, BOOL bRepaint) {
    ::MoveWindow(m_hWnd, lpRect->left, lpRect->top, lpRect->right - lpRect->left, lpRect->bottom - lpRect->top,
                 bRepaint);
}
BOOL CWnd::SetWindowPos(const CWnd* pWndInsertAfter, int x, int y, int cx, int cy, UINT nFlags) {
    return ::SetWindowPos(m_hWnd, pWndInsertAfter ? pWndInsertAfter->m_hWnd : NULL, x, y, cx, cy, nFlags);
}
BOOL CWnd::ShowWindow(int nCmdShow) { return ::ShowWindow(m_hWnd, nCmdShow); }
BOOL CWnd::EnableWindow(BOOL bEnable) { return ::EnableWindow(m_hWnd, bEnable); }
BOOL CWnd::IsWindowEnabled() const { return ::IsWindowEnabled(m_hWnd); }
BOOL CWnd::IsWindowVisible() const { return ::IsWindowVisible(m_hWnd); }
BOOL CWnd::IsIconic() const { return ::IsIconic(m_hWnd); }
BOOL CWnd::IsZoomed() const { return ::IsZoomed(m_hWnd); }
BOOL CWnd::GetWindowPlacement(WINDOWPLACEMENT* lpwndpl) const {
    lpwndpl->length = sizeof(WINDOWPLACEMENT);
    return ::GetWindowPlacement(m_hWnd, lpwndpl);
}
BOOL CWnd::SetWindowPlacement(const WINDOWPLACEMENT* lpwndpl) {
    ((WINDOWPLACEMENT*)lpwndpl)->length = sizeof(WINDOWPLACEMENT);
    return ::SetWindowPlacement(m_hWnd, lpwndpl);
}
int CWnd::SetWindowRgn(HRGN hRgn, BOOL bRedraw) { return ::SetWindowRgn(m_hWnd, hRgn, bRedraw); }
int CWnd::GetWindowRgn(HRGN hRgn) const { return ::GetWindowRgn(m_hWnd, hRgn); }
void CWnd::BringWindowToTop() { ::BringWindowToTop(m_hWnd); }
BOOL CWnd::SetForegroundWindow() { return ::SetForegroundWindow(m_hWnd); }
CWnd* PASCAL CWnd::GetForegroundWindow() { return FromHandle(::GetForegroundWindow()); }
CWnd* CWnd::SetActiveWindow() { return FromHandle(::SetActiveWindow(m_hWnd)); }
CWnd* PASCAL CWnd::GetActiveWindow() { return FromHandle(::GetActiveWindow()); }
BOOL CWnd::FlashWindow(BOOL bInvert) { return ::FlashWindow(m_hWnd, bInvert); }
void CWnd::ShowOwnedPopups(BOOL bShow) { ::ShowOwnedPopups(m_hWnd, bShow); }
BOOL CWnd::OpenClipboard() { return ::OpenClipboard(m_hWnd); }
void CWnd::CreateSolidCaret(int nWidth, int nHeight) { ::CreateCaret(m_hWnd, NULL, nWidth, nHeight); }
void CWnd::ShowCaret() { ::ShowCaret(m_hWnd); }
void CWnd::HideCaret() { ::HideCaret(m_hWnd); }
void PASCAL CWnd::SetCaretPos(POINT point) { ::SetCaretPos(point.x, point.y); }
CPoint PASCAL CWnd::GetCaretPos() {
    CPoint pt;
    ::GetCaretPos(&pt);
    return pt;
}
BOOL CWnd::SetWindowContextHelpId(DWORD dwContextHelpId) { return ::SetWindowContextHelpId(m_hWnd, dwContextHelpId); }
DWORD CWnd::GetWindowContextHelpId() const { return ::GetWindowContextHelpId(m_hWnd); }

BOOL CWnd::IsTopParentActive() const {
    // The top-level window (or the popup it last activated) is the foreground window.
    CWnd* pTop = GetTopLevelParent();
    if (pTop == NULL) return FALSE;
    HWND hPopup = ::GetLastActivePopup(pTop->m_hWnd);
    // Without a window manager the foreground may stay unset: the active window counts.
    return ::GetForegroundWindow() == hPopup || ::GetActiveWindow() == hPopup;
}

void CWnd::ActivateTopParent() {
    // A click in a floating palette that is not itself in front activates the
    // top-level window it belongs to instead.
    HWND hForeground = ::GetForegroundWindow();
    if (hForeground == NULL || !(hForeground == m_hWnd || ::IsChild(hForeground, m_hWnd))) {
        CWnd* pTopLevel = GetTopLevelParent();
        if (pTopLevel != NULL) ::SetForegroundWindow(pTopLevel->m_hWnd);
    }
}

void CWnd::CenterWindow(CWnd* pAlternateOwner) {
    DWORD dwStyle = GetStyle();
    HWND hWndCenter = pAlternateOwner->GetSafeHwnd();
    if (pAlternateOwner == NULL) {
        if (dwStyle & WS_CHILD)
            hWndCenter = ::GetParent(m_hWnd);
        else
            hWndCenter = ::GetWindow(m_hWnd, GW_OWNER);
        if (hWndCenter != NULL) {
            // Let the owner say which window to centre over.
            HWND hWndTemp = (HWND)::SendMessageA(hWndCenter, WM_QUERYCENTERWND, 0, 0);
            if (hWndTemp != NULL) hWndCenter = hWndTemp;
        }
    }
    RECT rcDlg;
    GetWindowRect(&rcDlg);
    RECT rcArea, rcCenter;
    HWND hWndParent;
    if (!(dwStyle & WS_CHILD)) {
        // Over the owner when it is visible and not minimised; else over the work area of
        // the monitor.
        if (hWndCenter != NULL) {
            DWORD dwAlternateStyle = (DWORD)::GetWindowLongA(hWndCenter, GWL_STYLE);
            if (!(dwAlternateStyle & WS_VISIBLE) || (dwAlternateStyle & WS_MINIMIZE)) hWndCenter = NULL;
        }
        MONITORINFO mi;
        mi.cbSize = sizeof(mi);
        HMONITOR hMon = ::MonitorFromWindow(hWndCenter ? hWndCenter : m_hWnd, MONITOR_DEFAULTTOPRIMARY);
        if (hMon != NULL && ::GetMonitorInfoA(hMon, &mi))
            rcArea = mi.rcWork;
        else
            ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &rcArea, 0);
        if (hWndCenter == NULL)
            rcCenter = rcArea;
        else
            ::GetWindowRect(hWndCenter, &rcCenter);
    } else {
        hWndParent = ::GetParent(m_hWnd);
        ::GetClientRect(hWndParent, &rcArea);
        ::GetClientRect(hWndCenter, &rcCenter);
        ::MapWindowPoints(hWndCenter, hWndParent, (POINT*)&rcCenter, 2);
    }
    int nDlgWidth = rcDlg.right - rcDlg.left;
    int nDlgHeight = rcDlg.bottom - rcDlg.top;
    int xLeft = (rcCenter.left + rcCenter.right) / 2 - nDlgWidth / 2;
    int yTop = (rcCenter.top + rcCenter.bottom) / 2 - nDlgHeight / 2;
    if (xLeft + nDlgWidth > rcArea.right) xLeft = rcArea.right - nDlgWidth;
    if (xLeft < rcArea.left) xLeft = rcArea.left;
    if (yTop + nDlgHeight > rcArea.bottom) yTop = rcArea.bottom - nDlgHeight;
    if (yTop < rcArea.top) yTop = rcArea.top;
    SetWindowPos(NULL, xLeft, yTop, -1, -1, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// ---- painting ------------------------------------------------------------------------------

void CWnd::Invalidate(BOOL bErase) { ::InvalidateRect(m_hWnd, NULL, bErase); }
void CWnd::InvalidateRect(LPCRECT lpRect, BOOL bErase) { ::InvalidateRect(m_hWnd, lpRect, bErase); }
void CWnd::InvalidateRgn(CRgn* pRgn, BOOL bErase) { ::InvalidateRgn(m_hWnd, (HRGN)pRgn->GetSafeHandle(), bErase); }
void CWnd::ValidateRect(LPCRECT lpRect) { ::ValidateRect(m_hWnd, lpRect); }
void CWnd::ValidateRgn(CRgn* pRgn) { ::ValidateRgn(m_hWnd, pRgn ? (HRGN)pRgn->GetSafeHandle() : NULL); }
int CWnd::GetUpdateRgn(CRgn* pRgn, BOOL bErase) {
    return ::GetUpdateRgn(m_hWnd, (HRGN)pRgn->GetSafeHandle(), bErase);
}
void CWnd::ScrollWindow(int xAmount, int yAmount, LPCRECT lpRect, LPCRECT lpClipRect) {
    ::ScrollWindow(m_hWnd, xAmount, yAmount, lpRect, lpClipRect);
}
void CWnd::UpdateWindow() { ::UpdateWindow(m_hWnd); }
BOOL CWnd::RedrawWindow(LPCRECT lpRectUpdate, CRgn* prgnUpdate, UINT flags) {
    return ::RedrawWindow(m_hWnd, lpRectUpdate, prgnUpdate ? (HRGN)prgnUpdate->GetSafeHandle() : NULL, flags);
}
void CWnd::SetRedraw(BOOL bRedraw) { ::SendMessageA(m_hWnd, WM_SETREDRAW, bRedraw, 0); }
BOOL CWnd::GetUpdateRect(LPRECT lpRect, BOOL bErase) { return ::GetUpdateRect(m_hWnd, lpRect, bErase); }
CDC* CWnd::GetDC() { return CDC::FromHandle(::GetDC(m_hWnd)); }
CDC* CWnd::GetWindowDC() { return CDC::FromHandle(::GetWindowDC(m_hWnd)); }
CDC* CWnd::GetDCEx(CRgn* prgnClip, DWORD flags) {
    return CDC::FromHandle(::GetDCEx(m_hWnd, prgnClip ? (HRGN)prgnClip->GetSafeHandle() : NULL, flags));
}
int CWnd::ReleaseDC(CDC* pDC) { return pDC ? ::ReleaseDC(m_hWnd, pDC->m_hDC) : 0; }
CDC* CWnd::BeginPaint(LPPAINTSTRUCT lpPaint) { return CDC::FromHandle(::BeginPaint(m_hWnd, lpPaint)); }
void CWnd::EndPaint(LPPAINTSTRUCT lpPaint) { ::EndPaint(m_hWnd, lpPaint); }
BOOL CWnd::LockWindowUpdate() { return ::LockWindowUpdate(m_hWnd); }
void CWnd::UnlockWindowUpdate() { ::LockWindowUpdate(NULL); }
void CWnd::Print(CDC* pDC, DWORD dwFlags) const { ::SendMessageA(m_hWnd, WM_PRINT, (WPARAM)pDC->m_hDC, dwFlags); }
void CWnd::PrintClient(CDC* pDC, DWORD dwFlags) const {
    ::SendMessageA(m_hWnd, WM_PRINTCLIENT, (WPARAM)pDC->m_hDC, dwFlags);
}
int CWnd::ScrollWindowEx(int dx, int dy, LPCRECT lpRectScroll, LPCRECT lpRectClip, CRgn* prgnUpdate,
                         LPRECT lpRectUpdate, UINT flags) {
    return ::ScrollWindowEx(m_hWnd, dx, dy, lpRectScroll, lpRectClip,
                            prgnUpdate ? (HRGN)prgnUpdate->GetSafeHandle() : NULL, lpRectUpdate, flags);
}

// ---- styles --------------------------------------------------------------------------------

DWORD CWnd::GetStyle() const { return (DWORD)::GetWindowLongA(m_hWnd, GWL_STYLE); }
DWORD CWnd::GetExStyle() const { return (DWORD)::GetWindowLongA(m_hWnd, GWL_EXSTYLE); }

static BOOL ModifyStyleImpl(HWND hWnd, int nStyleOffset, DWORD dwRemove, DWORD dwAdd, UINT nFlags) {
    DWORD dwStyle = (DWORD)::GetWindowLongA(hWnd, nStyleOffset);
    DWORD dwNewStyle = (dwStyle & ~dwRemove) | dwAdd;
    if (dwStyle == dwNewStyle) return FALSE;
    ::SetWindowLongA(hWnd, nStyleOffset, (LONG)dwNewStyle);
    if (nFlags != 0)
        ::SetWindowPos(hWnd, NULL, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | nFlags);
    return TRUE;
}

BOOL PASCAL CWnd::ModifyStyle(HWND hWnd, DWORD dwRemove, DWORD dwAdd, UINT nFlags) {
    return ModifyStyleImpl(hWnd, GWL_STYLE, dwRemove, dwAdd, nFlags);
}
BOOL PASCAL CWnd::ModifyStyleEx(HWND hWnd, DWORD dwRemove, DWORD dwAdd, UINT nFlags) {
    return ModifyStyleImpl(hWnd, GWL_EXSTYLE, dwRemove, dwAdd, nFlags);
}
BOOL CWnd::ModifyStyle(DWORD dwRemove, DWORD dwAdd, UINT nFlags) {
    return ModifyStyleImpl(m_hWnd, GWL_STYLE, dwRemove, dwAdd, nFlags);
}
BOOL CWnd::ModifyStyleEx(DWORD dwRemove, DWORD dwAdd, UINT nFlags) {
    return ModifyStyleImpl(m_hWnd, GWL_EXSTYLE, dwRemove, dwAdd, nFlags);
}

// ---- text and fonts --------------------------------------------------------------------------

void CWnd::SetWindowText(LPCTSTR lpszString) { ::SetWindowTextA(m_hWnd, lpszString); }
int CWnd::GetWindowText(LPTSTR lpszStringBuf, int nMaxCount) const {
    return ::GetWindowTextA(m_hWnd, lpszStringBuf, nMaxCount);
}
void CWnd::GetWindowText(CString& rString) const {
    int nLen = ::GetWindowTextLengthA(m_hWnd);
    ::GetWindowTextA(m_hWnd, rString.GetBufferSetLength(nLen), nLen + 1);
    rString.ReleaseBuffer();
}
int CWnd::GetWindowTextLength() const { return ::GetWindowTextLengthA(m_hWnd); }
void CWnd::SetFont(CFont* pFont, BOOL bRedraw) {
    ::SendMessageA(m_hWnd, WM_SETFONT, (WPARAM)(pFont ? pFont->GetSafeHandle() : NULL), bRedraw);
}
CFont* CWnd::GetFont() const {
    HFONT hFont = (HFONT)::SendMessageA(m_hWnd, WM_GETFONT, 0, 0);
    return hFont ? CFont::FromHandle(hFont) : NULL;
}
void CWnd::SetDlgItemText(int nID, LPCTSTR lpszString) { ::SetDlgItemTextA(m_hWnd, nID, lpszString); }
int CWnd::GetDlgItemText(int nID, LPTSTR lpStr, int nMaxCount) const {
    return (int)::GetDlgItemTextA(m_hWnd, nID, lpStr, nMaxCount);
}
int CWnd::GetDlgItemText(int nID, CString& rString) const {
    rString.Empty();
    HWND hWnd = ::GetDlgItem(m_hWnd, nID);
    if (hWnd != NULL) {
        int nLen = ::GetWindowTextLengthA(hWnd);
        ::GetWindowTextA(hWnd, rString.GetBufferSetLength(nLen), nLen + 1);
        rString.ReleaseBuffer();
    }
    return rString.GetLength();
}
void CWnd::SetDlgItemInt(int nID, UINT nValue, BOOL bSigned) { ::SetDlgItemInt(m_hWnd, nID, nValue, bSigned); }
UINT CWnd::GetDlgItemInt(int nID, BOOL* lpTrans, BOOL bSigned) const {
    return ::GetDlgItemInt(m_hWnd, nID, lpTrans, bSigned);
}
void CWnd::CheckDlgButton(int nIDButton, UINT nCheck) { ::CheckDlgButton(m_hWnd, nIDButton, nCheck); }
UINT CWnd::IsDlgButtonChecked(int nIDButton) const { return ::IsDlgButtonChecked(m_hWnd, nIDButton); }
void CWnd::CheckRadioButton(int nIDFirstButton, int nIDLastButton, int nIDCheckButton) {
    ::CheckRadioButton(m_hWnd, nIDFirstButton, nIDLastButton, nIDCheckButton);
}
int CWnd::GetCheckedRadioButton(int nIDFirstButton, int nIDLastButton) {
    for (int nID = nIDFirstButton; nID <= nIDLastButton; nID++)
        if (IsDlgButtonChecked(nID)) return nID;
    return 0;
}
LRESULT CWnd::SendDlgItemMessage(int nID, UINT message, WPARAM wParam, LPARAM lParam) {
    return ::SendDlgItemMessageA(m_hWnd, nID, message, wParam, lParam);
}
CWnd* CWnd::GetNextDlgTabItem(CWnd* pWndCtl, BOOL bPrevious) const {
    return FromHandle(::GetNextDlgTabItem(m_hWnd, pWndCtl->GetSafeHwnd(), bPrevious));
}
CWnd* CWnd::GetNextDlgGroupItem(CWnd* pWndCtl, BOOL bPrevious) const {
    return FromHandle(::GetNextDlgGroupItem(m_hWnd, pWndCtl->GetSafeHwnd(), bPrevious));
}
HICON CWnd::SetIcon(HICON hIcon, BOOL bBigIcon) {
    return (HICON)::SendMessageA(m_hWnd, WM_SETICON, bBigIcon ? ICON_BIG : ICON_SMALL, (LPARAM)hIcon);
}
HICON CWnd::GetIcon(BOOL bBigIcon) const {
    return (HICON)::SendMessageA(m_hWnd, WM_GETICON, bBigIcon ? ICON_BIG : ICON_SMALL, 0);
}
void CWnd::DragAcceptFiles(BOOL bAccept) {
    ModifyStyleEx(bAccept ? 0 : WS_EX_ACCEPTFILES, bAccept ? WS_EX_ACCEPTFILES : 0);
}

// ---- menus -----------------------------------------------------------------------------------

CMenu* CWnd::GetMenu() const { return CMenu::FromHandle(::GetMenu(m_hWnd)); }
BOOL CWnd::SetMenu(CMenu* pMenu) { return ::SetMenu(m_hWnd, pMenu ? pMenu->GetSafeHmenu() : NULL); }
void CWnd::DrawMenuBar() { ::DrawMenuBar(m_hWnd); }
CMenu* CWnd::GetSystemMenu(BOOL bRevert) const { return CMenu::FromHandle(::GetSystemMenu(m_hWnd, bRevert)); }
BOOL CWnd::HiliteMenuItem(CMenu* pMenu, UINT nIDHiliteItem, UINT nHilite) {
    return ::HiliteMenuItem(m_hWnd, pMenu->GetSafeHmenu(), nIDHiliteItem, nHilite);
}

// ---- input -----------------------------------------------------------------------------------

CWnd* CWnd::SetCapture() { return FromHandle(::SetCapture(m_hWnd)); }
CWnd* PASCAL CWnd::GetCapture() { return FromHandle(::GetCapture()); }
CWnd* PASCAL CWnd::GetFocus() { return FromHandle(::GetFocus()); }
CWnd* CWnd::SetFocus() { return FromHandle(::SetFocus(m_hWnd)); }
UINT_PTR CWnd::SetTimer(UINT_PTR nIDEvent, UINT nElapse, void(CALLBACK* lpfnTimer)(HWND, UINT, UINT_PTR, DWORD)) {
    return ::SetTimer(m_hWnd, nIDEvent, nElapse, lpfnTimer);
}
BOOL CWnd::KillTimer(UINT_PTR nIDEvent) { return ::KillTimer(m_hWnd, nIDEvent); }

// ---- messages --------------------------------------------------------------------------------

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) const {
    return ::SendMessageA(m_hWnd, message, wParam, lParam);
}
BOOL CWnd::PostMessage(UINT message, WPARAM wParam, LPARAM lParam) const {
    return ::PostMessageA(m_hWnd, message, wParam, lParam);
}
BOOL CWnd::SendNotifyMessage(UINT message, WPARAM wParam, LPARAM lParam) const {
    return ::SendNotifyMessageA(m_hWnd, message, wParam, lParam);
}
int CWnd::MessageBox(LPCTSTR lpszText, LPCTSTR lpszCaption, UINT nType) {
    if (lpszCaption == NULL) lpszCaption = AfxGetAppName();
    return ::MessageBoxA(GetSafeHwnd(), lpszText, lpszCaption, nType);
}

// ---- scrolling -------------------------------------------------------------------------------

namespace {

// A window may keep its scroll bars outside (GetScrollBarCtrl): then the bar control
// answers for the axis, as its own SB_CTL bar.
HWND ScrollTarget(const CWnd* pWnd, int& nBar) {
    if (nBar != SB_CTL && nBar != SB_BOTH) {
        CScrollBar* pBar = pWnd->GetScrollBarCtrl(nBar);
        if (pBar != NULL && pBar->m_hWnd != NULL) {
            nBar = SB_CTL;
            return pBar->m_hWnd;
        }
    }
    return pWnd->m_hWnd;
}

}  // namespace

int CWnd::GetScrollPos(int nBar) const {
    HWND hWnd = ScrollTarget(this, nBar);
    return ::GetScrollPos(hWnd, nBar);
}
int CWnd::SetScrollPos(int nBar, int nPos, BOOL bRedraw) {
    HWND hWnd = ScrollTarget(this, nBar);
    return ::SetScrollPos(hWnd, nBar, nPos, bRedraw);
}
void CWnd::GetScrollRange(int nBar, LPINT lpMinPos, LPINT lpMaxPos) const {
    HWND hWnd = ScrollTarget(this, nBar);
    ::GetScrollRange(hWnd, nBar, lpMinPos, lpMaxPos);
}
void CWnd::SetScrollRange(int nBar, int nMinPos, int nMaxPos, BOOL bRedraw) {
    HWND hWnd = ScrollTarget(this, nBar);
    ::SetScrollRange(hWnd, nBar, nMinPos, nMaxPos, bRedraw);
}
BOOL CWnd::GetScrollInfo(int nBar, LPSCROLLINFO lpScrollInfo, UINT nMask) {
    HWND hWnd = ScrollTarget(this, nBar);
    lpScrollInfo->cbSize = sizeof(SCROLLINFO);
    lpScrollInfo->fMask = nMask;
    return ::GetScrollInfo(hWnd, nBar, lpScrollInfo);
}
BOOL CWnd::SetScrollInfo(int nBar, LPSCROLLINFO lpScrollInfo, BOOL bRedraw) {
    HWND hWnd = ScrollTarget(this, nBar);
    lpScrollInfo->cbSize = sizeof(SCROLLINFO);
    ::SetScrollInfo(hWnd, nBar, lpScrollInfo, bRedraw);
    return TRUE;
}
int CWnd::GetScrollLimit(int nBar) {
    // The highest position the thumb can take: the range's end less a page.
    SCROLLINFO info;
    if (!GetScrollInfo(nBar, &info, SIF_RANGE | SIF_PAGE)) return 0;
    int nMax = info.nMax;
    if (info.nPage > 0) nMax -= (int)info.nPage - 1;
    return nMax;
}
void CWnd::ShowScrollBar(UINT nBar, BOOL bShow) {
    int nWhich = (int)nBar;
    HWND hWnd = ScrollTarget(this, nWhich);
    if (nWhich == SB_CTL && hWnd != m_hWnd)
        ::ShowWindow(hWnd, bShow ? SW_SHOW : SW_HIDE);
    else
        ::ShowScrollBar(hWnd, nWhich, bShow);
}
BOOL CWnd::EnableScrollBar(int nSBFlags, UINT nArrowFlags) {
    if (nSBFlags == SB_BOTH) {
        EnableScrollBar(SB_HORZ, nArrowFlags);
        return EnableScrollBar(SB_VERT, nArrowFlags);
    }
    HWND hWnd = ScrollTarget(this, nSBFlags);
    return ::EnableScrollBar(hWnd, (UINT)nSBFlags, nArrowFlags);
}
void CWnd::EnableScrollBarCtrl(int nBar, BOOL bEnable) {
    // An outside bar is enabled or disabled; a window's own bar is shown or hidden.
    if (nBar == SB_BOTH) {
        EnableScrollBarCtrl(SB_HORZ, bEnable);
        EnableScrollBarCtrl(SB_VERT, bEnable);
        return;
    }
    CScrollBar* pBar = GetScrollBarCtrl(nBar);
    if (pBar != NULL && pBar->m_hWnd != NULL)
        ::EnableWindow(pBar->m_hWnd, bEnable);
    else
        ShowScrollBar((UINT)nBar, bEnable);
}
CScrollBar* CWnd::GetScrollBarCtrl(int) const { return NULL; }

// ---- help --------------------------------------------------------------------------------------

void CWnd::WinHelp(DWORD_PTR dwData, UINT nCmd) {
    CWinApp* pApp = AfxGetApp();
    if (pApp) pApp->WinHelp(dwData, nCmd);
}
void CWnd::HtmlHelp(DWORD_PTR dwData, UINT nCmd) {
    CWinApp* pApp = AfxGetApp();
    if (pApp) pApp->HtmlHelp(dwData, nCmd);
}
