// The framework's tooltip relay: one tooltip control per thread serves every window
// that called EnableToolTips. Mouse messages pass through FilterToolTipMessage (from
// PreTranslateMessage), which asks the window's OnToolHitTest which tool is under the
// cursor, registers it with the tooltip control and relays the message to it.
#include "framework/wnd.h"
#include "framework/winthread.h"
#include <stdlib.h>
#include <string.h>

namespace {

HWND EnsureToolTip(CWnd* pWnd) {
    // One control per thread, owned by the top-level window of the window that uses it
    // (so it stays above it); a window under another top-level window makes it anew.
    _AFX_THREAD_STATE* pState = AfxGetThreadState();
    CWnd* pToolTip = pState->m_pToolTip;
    HWND hOwner = pWnd != NULL ? pWnd->GetParentOwner()->GetSafeHwnd() : NULL;
    if (pToolTip != NULL && (pToolTip->m_hWnd == NULL || !::IsWindow(pToolTip->m_hWnd) ||
                             ::GetWindow(pToolTip->m_hWnd, GW_OWNER) != hOwner)) {
        if (pToolTip->m_hWnd != NULL && ::IsWindow(pToolTip->m_hWnd)) ::DestroyWindow(pToolTip->m_hWnd);
        pToolTip->m_hWnd = NULL;
        delete pToolTip;
        pState->m_pToolTip = pToolTip = NULL;
        // The tools of the old control went with it: the next hit registers anew.
        ZeroMemory(&pState->m_lastInfo, sizeof(pState->m_lastInfo));
        pState->m_pLastHit = NULL;
        pState->m_nLastHit = -1;
    }
    if (pToolTip == NULL) {
        AfxDeferRegisterClass(AFX_WNDCOMMCTLS_REG);
        HWND hWnd = ::CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, NULL, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT,
                                      CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hOwner, NULL,
                                      ::GetModuleHandleA(NULL), NULL);
        if (hWnd == NULL) return NULL;
        pToolTip = new CWnd;
        pToolTip->m_hWnd = hWnd;  // not bound: the control keeps its own procedure
        ::SendMessageA(hWnd, TTM_ACTIVATE, FALSE, 0);
        pState->m_pToolTip = pToolTip;
    }
    return pToolTip->m_hWnd;
}

void RelayToolTipMessage(HWND hToolTip, const MSG* pMsg) {
    // The tip wants the message addressed to the window under the cursor, in its
    // client coordinates.
    MSG msg = *pMsg;
    msg.hwnd = (HWND)::SendMessageA(hToolTip, TTM_WINDOWFROMPOINT, 0, (LPARAM)&msg.pt);
    POINT pt = pMsg->pt;
    if (msg.message >= WM_MOUSEFIRST && msg.message <= WM_MOUSELAST && msg.hwnd != NULL) ::ScreenToClient(msg.hwnd, &pt);
    msg.lParam = MAKELONG(pt.x, pt.y);
    ::SendMessageA(hToolTip, TTM_RELAYEVENT, 0, (LPARAM)&msg);
}


}  // namespace

namespace {

// The control is made when the mouse first moves over a window that uses it; turning
// tips off drops the window's tool for the gaps between its tools. Always TRUE, as the
// classic call answers.
BOOL EnableToolTipsFlag(CWnd* pWnd, BOOL bEnable, UINT nFlag) {
    if (bEnable) {
        pWnd->m_nFlags |= nFlag;
        return TRUE;
    }
    if (!(pWnd->m_nFlags & nFlag)) return TRUE;
    _AFX_THREAD_STATE* pState = AfxGetThreadState();
    if (pState->m_pLastHit == pWnd) CWnd::CancelToolTips(TRUE);
    CWnd* pToolTip = pState->m_pToolTip;
    if (pToolTip != NULL && pToolTip->m_hWnd != NULL && ::IsWindow(pToolTip->m_hWnd) && pWnd->m_hWnd != NULL) {
        TOOLINFOA ti;
        memset(&ti, 0, sizeof(ti));
        ti.cbSize = AFX_OLDTOOLINFO_SIZE;
        ti.uFlags = TTF_IDISHWND;
        ti.hwnd = pWnd->m_hWnd;
        ti.uId = (UINT_PTR)pWnd->m_hWnd;
        ::SendMessageA(pToolTip->m_hWnd, TTM_DELTOOLA, 0, (LPARAM)&ti);
    }
    pWnd->m_nFlags &= ~nFlag;
    return TRUE;
}

}  // namespace

BOOL CWnd::EnableToolTips(BOOL bEnable) { return EnableToolTipsFlag(this, bEnable, WF_TOOLTIPS); }

BOOL CWnd::EnableTrackingToolTips(BOOL bEnable) { return EnableToolTipsFlag(this, bEnable, WF_TRACKINGTOOLTIPS); }

void PASCAL CWnd::CancelToolTips(BOOL bKeys) {
    UNUSED(bKeys);
    _AFX_THREAD_STATE* pState = AfxGetThreadState();
    CWnd* pToolTip = pState->m_pToolTip;
    if (pToolTip != NULL && pToolTip->m_hWnd != NULL && ::IsWindow(pToolTip->m_hWnd))
        ::SendMessageA(pToolTip->m_hWnd, TTM_ACTIVATE, FALSE, 0);
}

INT_PTR CWnd::OnToolHitTest(CPoint point, TOOLINFO* pTI) const {
    // The visible child under the point (disabled ones too, which WindowFromPoint would
    // skip) is the tool; its id is the answer. Static texts of a template (id 0xFFFF)
    // are no tools, and a child whose id is -1 answers -1: no tool either.
    HWND hWndChild = NULL;
    for (HWND h = ::GetTopWindow(m_hWnd); h != NULL; h = ::GetWindow(h, GW_HWNDNEXT)) {
        if (::GetDlgCtrlID(h) == 0xFFFF || !(::GetWindowLongA(h, GWL_STYLE) & WS_VISIBLE)) continue;
        RECT rc;
        ::GetWindowRect(h, &rc);
        ::MapWindowPoints(NULL, m_hWnd, (POINT*)&rc, 2);
        if (::PtInRect(&rc, point)) {
            hWndChild = h;
            break;
        }
    }
    if (hWndChild == NULL) return -1;
    INT_PTR nHit = (INT_PTR)::GetDlgCtrlID(hWndChild);
    if (pTI != NULL && pTI->cbSize >= AFX_OLDTOOLINFO_SIZE) {
        pTI->hwnd = m_hWnd;
        pTI->uId = (UINT_PTR)hWndChild;
        pTI->uFlags |= TTF_IDISHWND;
        pTI->lpszText = LPSTR_TEXTCALLBACK;
        if (!(::SendMessageA(hWndChild, WM_GETDLGCODE, 0, 0) & DLGC_BUTTON)) pTI->uFlags |= TTF_NOTBUTTON | TTF_CENTERTIP;
    }
    return nHit;
}

void CWnd::FilterToolTipMessage(MSG* pMsg) {
    _AFX_THREAD_STATE* pState = AfxGetThreadState();
    UINT message = pMsg->message;
    if ((message == WM_MOUSEMOVE || message == WM_NCMOUSEMOVE || message == WM_LBUTTONUP ||
         message == WM_RBUTTONUP || message == WM_MBUTTONUP) &&
        (::GetKeyState(VK_LBUTTON) >= 0 && ::GetKeyState(VK_RBUTTON) >= 0 && ::GetKeyState(VK_MBUTTON) >= 0)) {
        // Only the nearest window with tooltips on (from the target upwards) answers.
        CWnd* pWnd = CWnd::FromHandle(pMsg->hwnd);
        while (pWnd != NULL && !(pWnd->m_nFlags & (WF_TOOLTIPS | WF_TRACKINGTOOLTIPS))) pWnd = pWnd->GetParent();
        if (pWnd != this) {
            if (pWnd == NULL) {
                // The mouse is over windows without tips: forget the last tool.
                pState->m_pLastHit = NULL;
                pState->m_nLastHit = -1;
            }
            return;
        }

        HWND hToolTip = EnsureToolTip(this);
        if (hToolTip == NULL) return;

        // A tool for the whole window catches the areas between tools.
        TOOLINFOA ti;
        memset(&ti, 0, sizeof(ti));
        ti.cbSize = AFX_OLDTOOLINFO_SIZE;
        ti.uFlags = TTF_IDISHWND;
        ti.hwnd = m_hWnd;
        ti.uId = (UINT_PTR)m_hWnd;
        if (!::SendMessageA(hToolTip, TTM_GETTOOLINFOA, 0, (LPARAM)&ti)) {
            ti.lpszText = NULL;
            ::SendMessageA(hToolTip, TTM_ADDTOOLA, 0, (LPARAM)&ti);
        }

        CPoint point = pMsg->pt;
        ScreenToClient(&point);
        TOOLINFOA tiHit;
        memset(&tiHit, 0, sizeof(tiHit));
        tiHit.cbSize = AFX_OLDTOOLINFO_SIZE;
        INT_PTR nHit = OnToolHitTest(point, &tiHit);

        CWnd* pHitWnd = nHit == -1 ? NULL : this;
        if (pState->m_nLastHit != nHit || pState->m_pLastHit != pHitWnd) {
            if (nHit != -1) {
                ti = tiHit;
                ti.cbSize = AFX_OLDTOOLINFO_SIZE;
                ti.uFlags &= ~(TTF_NOTBUTTON | TTF_ALWAYSTIP);
                if (m_nFlags & WF_TRACKINGTOOLTIPS) ti.uFlags |= TTF_TRACK;
                ::SendMessageA(hToolTip, TTM_ADDTOOLA, 0, (LPARAM)&ti);
                if ((tiHit.uFlags & TTF_ALWAYSTIP) || IsTopParentActive()) {
                    ::SendMessageA(hToolTip, TTM_ACTIVATE, TRUE, 0);
                    if (m_nFlags & WF_TRACKINGTOOLTIPS) ::SendMessageA(hToolTip, TTM_TRACKACTIVATE, TRUE, (LPARAM)&ti);
                    ::SetWindowPos(hToolTip, HWND_TOP, 0, 0, 0, 0,
                                   SWP_NOACTIVATE | SWP_NOSIZE | SWP_NOMOVE | SWP_NOOWNERZORDER);
                }
            } else {
                ::SendMessageA(hToolTip, TTM_ACTIVATE, FALSE, 0);
            }
            RelayToolTipMessage(hToolTip, pMsg);
            // Only now is it safe to drop the previous tool.
            if (pState->m_lastInfo.cbSize >= AFX_OLDTOOLINFO_SIZE) {
                TOOLINFOA old = pState->m_lastInfo;
                old.lpszText = NULL;
                ::SendMessageA(hToolTip, TTM_DELTOOLA, 0, (LPARAM)&old);
            }
            pState->m_pLastHit = pHitWnd;
            pState->m_nLastHit = nHit;
            pState->m_lastInfo = tiHit;
            pState->m_lastInfo.lpszText = NULL;  // the text is freed below; never keep it
        } else {
            if (m_nFlags & WF_TRACKINGTOOLTIPS) {
                POINT pt;
                ::GetCursorPos(&pt);
                ::SendMessageA(hToolTip, TTM_TRACKPOSITION, 0, MAKELPARAM(pt.x, pt.y));
            } else if (nHit != -1) {
                RelayToolTipMessage(hToolTip, pMsg);
            }
        }
        // The hit test hands over a text made with malloc (the control has copied it);
        // a callback marker or a resource id (hinst set) is not ours to free.
        if (tiHit.lpszText != LPSTR_TEXTCALLBACKA && tiHit.hinst == NULL && tiHit.lpszText != NULL)
            free(tiHit.lpszText);
    } else if (m_nFlags & (WF_TOOLTIPS | WF_TRACKINGTOOLTIPS)) {
        CWnd* pWnd = CWnd::FromHandle(pMsg->hwnd);
        while (pWnd != NULL && pWnd != this && !(pWnd->m_nFlags & (WF_TOOLTIPS | WF_TRACKINGTOOLTIPS)))
            pWnd = pWnd->GetParent();
        if (pWnd != this) return;
        BOOL bKeys = (message >= WM_KEYFIRST && message <= WM_KEYLAST) ||
                     (message >= WM_SYSKEYDOWN && message <= WM_SYSDEADCHAR);
        // Keys and clicks put the tip away.
        if ((m_nFlags & WF_TRACKINGTOOLTIPS) == 0 &&
            (bKeys || message == WM_LBUTTONDOWN || message == WM_LBUTTONDBLCLK || message == WM_RBUTTONDOWN ||
             message == WM_RBUTTONDBLCLK || message == WM_MBUTTONDOWN || message == WM_MBUTTONDBLCLK ||
             message == WM_NCLBUTTONDOWN || message == WM_NCLBUTTONDBLCLK || message == WM_NCRBUTTONDOWN ||
             message == WM_NCRBUTTONDBLCLK || message == WM_NCMBUTTONDOWN || message == WM_NCMBUTTONDBLCLK))
            CancelToolTips(bKeys);
    }
}
