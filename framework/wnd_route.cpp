// Message dispatch through the message maps, command and notification routing, and
// reflection of child notifications to the child's own object.
#include "framework/wnd.h"
#include "framework/winthread.h"
#include "framework/app.h"
#include "framework/dc.h"
#include "framework/menu.h"

PTM_WARNING_DISABLE

BEGIN_MESSAGE_MAP(CWnd, CCmdTarget)
    ON_WM_DESTROY()
    ON_WM_NCDESTROY()
    ON_WM_SYSCOLORCHANGE()
    ON_WM_SETTINGCHANGE()
    ON_WM_DISPLAYCHANGE()
    ON_WM_THEMECHANGED()
    ON_WM_DRAWITEM()
    ON_WM_MEASUREITEM()
    ON_WM_CTLCOLOR()
    ON_WM_COMPAREITEM()
    ON_WM_DELETEITEM()
    ON_WM_HSCROLL()
    ON_WM_VSCROLL()
    ON_WM_PARENTNOTIFY()
    ON_WM_VKEYTOITEM()
    ON_WM_CHARTOITEM()
    ON_WM_HELPINFO()
END_MESSAGE_MAP()

namespace {

// Looks the message up in the map chain; registered messages compare the id variable.
const AFX_MSGMAP_ENTRY* FindWindowEntry(const AFX_MSGMAP* pMap, UINT message) {
    for (; pMap != NULL; pMap = pMap->pfnGetBaseMap ? pMap->pfnGetBaseMap() : NULL) {
        if (message < 0xC000) {
            const AFX_MSGMAP_ENTRY* p = AfxFindMessageEntry(pMap->lpEntries, message, 0, 0);
            if (p != NULL) return p;
        } else {
            for (const AFX_MSGMAP_ENTRY* p = pMap->lpEntries; p->nSig != AfxSig_end; ++p)
                if (p->nMessage == 0xC000 && *(const UINT*)p->nSig == message) return p;
        }
    }
    return NULL;
}

// A click on a window that a modal popup disabled (hit test HTERROR) brings that popup
// to the front, as the user expects of a modal dialog.
BOOL HandleSetCursorError(CWnd* pWnd, short nHitTest, UINT nMsg) {
    if (nHitTest != HTERROR || (nMsg != WM_LBUTTONDOWN && nMsg != WM_MBUTTONDOWN && nMsg != WM_RBUTTONDOWN))
        return FALSE;
    CWnd* pTop = pWnd->GetTopLevelParent();
    HWND hLastActive = pTop != NULL ? ::GetLastActivePopup(pTop->m_hWnd) : NULL;
    if (hLastActive != NULL && hLastActive != ::GetForegroundWindow() && ::IsWindowEnabled(hLastActive)) {
        ::SetForegroundWindow(hLastActive);
        return TRUE;
    }
    return FALSE;
}

}  // namespace

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    LRESULT lResult = 0;

    if (message == WM_COMMAND) {
        if (OnCommand(wParam, lParam)) {
            lResult = 1;
            goto LReturnTrue;
        }
        return FALSE;
    }
    if (message == WM_NOTIFY) {
        NMHDR* pNMHDR = (NMHDR*)lParam;
        if (pNMHDR != NULL && pNMHDR->hwndFrom != NULL && OnNotify(wParam, lParam, &lResult)) goto LReturnTrue;
        return FALSE;
    }

    if (message == WM_SETCURSOR && HandleSetCursorError(this, (short)LOWORD(lParam), HIWORD(lParam))) {
        lResult = 1;
        goto LReturnTrue;
    }

    {
        const AFX_MSGMAP_ENTRY* lpEntry = FindWindowEntry(GetMessageMap(), message);
        // The WM_CTLCOLOR* family is handled by one WM_CTLCOLOR entry unless a class maps
        // the specific message itself.
        if (lpEntry == NULL && message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC)
            lpEntry = FindWindowEntry(GetMessageMap(), WM_CTLCOLOR);
        if (lpEntry == NULL) return FALSE;

        UINT_PTR nSig = (message >= 0xC000 || lpEntry->nMessage == 0xC000) ? (UINT_PTR)AfxSig_l_w_l : lpEntry->nSig;
        AFX_PMSGW pfn = static_cast<AFX_PMSGW>(lpEntry->pfn);
#define AFX_CALL(type) (this->*reinterpret_cast<type>(pfn))
        switch (nSig) {
        case AfxSig_l_w_l:
            lResult = AFX_CALL(LRESULT (CWnd::*)(WPARAM, LPARAM))(wParam, lParam);
            break;
        case AfxSig_l_v:
            lResult = AFX_CALL(LRESULT (CWnd::*)())();
            break;
        case AfxSig_v_v:
            AFX_CALL(void (CWnd::*)())();
            break;
        case AfxSig_b_v:
            lResult = AFX_CALL(BOOL (CWnd::*)())();
            break;
        case AfxSig_i_v:
            lResult = AFX_CALL(int (CWnd::*)())();
            break;
        case AfxSig_u_v:
            lResult = AFX_CALL(UINT (CWnd::*)())();
            break;
        case AfxSig_h_v:
            lResult = (LRESULT)AFX_CALL(HCURSOR (CWnd::*)())();
            break;
        case AfxSig_i_CREATE:
            lResult = AFX_CALL(int (CWnd::*)(LPCREATESTRUCT))((LPCREATESTRUCT)lParam);
            break;
        case AfxSig_b_CREATE:
            lResult = AFX_CALL(BOOL (CWnd::*)(LPCREATESTRUCT))((LPCREATESTRUCT)lParam);
            break;
        case AfxSig_b_D:
            lResult = AFX_CALL(BOOL (CWnd::*)(CDC*))(CDC::FromHandle((HDC)wParam));
            break;
        case AfxSig_v_D_u:
            AFX_CALL(void (CWnd::*)(CDC*, UINT))(CDC::FromHandle((HDC)wParam), (UINT)lParam);
            break;
        case AfxSig_v_u_i_i:
            AFX_CALL(void (CWnd::*)(UINT, int, int))((UINT)wParam, (short)LOWORD(lParam), (short)HIWORD(lParam));
            break;
        case AfxSig_v_i_i:
            AFX_CALL(void (CWnd::*)(int, int))((short)LOWORD(lParam), (short)HIWORD(lParam));
            break;
        case AfxSig_v_u_RECT:
            AFX_CALL(void (CWnd::*)(UINT, LPRECT))((UINT)wParam, (LPRECT)lParam);
            lResult = TRUE;
            break;
        case AfxSig_v_POS:
            AFX_CALL(void (CWnd::*)(WINDOWPOS*))((WINDOWPOS*)lParam);
            break;
        case AfxSig_v_MMI:
            AFX_CALL(void (CWnd::*)(MINMAXINFO*))((MINMAXINFO*)lParam);
            break;
        case AfxSig_v_b_u:
            AFX_CALL(void (CWnd::*)(BOOL, UINT))((BOOL)wParam, (UINT)lParam);
            break;
        case AfxSig_v_TIMER:
            AFX_CALL(void (CWnd::*)(UINT_PTR))((UINT_PTR)wParam);
            break;
        case AfxSig_v_u_p:
            AFX_CALL(void (CWnd::*)(UINT, CPoint))((UINT)wParam, CPoint((short)LOWORD(lParam), (short)HIWORD(lParam)));
            break;
        case AfxSig_b_u_s_p:
            lResult = AFX_CALL(BOOL (CWnd::*)(UINT, short, CPoint))(
                LOWORD(wParam), (short)HIWORD(wParam), CPoint((short)LOWORD(lParam), (short)HIWORD(lParam)));
            break;
        case AfxSig_v_u_W_b:
            AFX_CALL(void (CWnd::*)(UINT, CWnd*, BOOL))(LOWORD(wParam), CWnd::FromHandle((HWND)lParam),
                                                         (BOOL)HIWORD(wParam));
            break;
        case AfxSig_v_b_DW:
            AFX_CALL(void (CWnd::*)(BOOL, DWORD))((BOOL)wParam, (DWORD)lParam);
            break;
        case AfxSig_i_W_u_u:
            lResult = AFX_CALL(int (CWnd::*)(CWnd*, UINT, UINT))(CWnd::FromHandle((HWND)wParam), LOWORD(lParam),
                                                                  HIWORD(lParam));
            break;
        case AfxSig_b_W_u_u:
            lResult = AFX_CALL(BOOL (CWnd::*)(CWnd*, UINT, UINT))(CWnd::FromHandle((HWND)wParam), LOWORD(lParam),
                                                                   HIWORD(lParam));
            break;
        case AfxSig_v_W:
            AFX_CALL(void (CWnd::*)(CWnd*))(CWnd::FromHandle((HWND)(message == WM_CAPTURECHANGED ? lParam : wParam)));
            break;
        case AfxSig_v_u_u_u:
            AFX_CALL(void (CWnd::*)(UINT, UINT, UINT))((UINT)wParam, LOWORD(lParam), HIWORD(lParam));
            break;
        case AfxSig_v_b_NCCALC:
            AFX_CALL(void (CWnd::*)(BOOL, NCCALCSIZE_PARAMS*))((BOOL)wParam, (NCCALCSIZE_PARAMS*)lParam);
            break;
        case AfxSig_l_p:
            lResult = AFX_CALL(LRESULT (CWnd::*)(CPoint))(CPoint((short)LOWORD(lParam), (short)HIWORD(lParam)));
            break;
        case AfxSig_b_b:
            lResult = AFX_CALL(BOOL (CWnd::*)(BOOL))((BOOL)wParam);
            break;
        case AfxSig_v_b:
            AFX_CALL(void (CWnd::*)(BOOL))((BOOL)wParam);
            break;
        case AfxSig_v_W_p:
            AFX_CALL(void (CWnd::*)(CWnd*, CPoint))(CWnd::FromHandle((HWND)wParam),
                                                    CPoint((short)LOWORD(lParam), (short)HIWORD(lParam)));
            break;
        case AfxSig_v_u_l:
            AFX_CALL(void (CWnd::*)(UINT, LPARAM))((UINT)wParam, lParam);
            break;
        case AfxSig_v_u_s:
            AFX_CALL(void (CWnd::*)(UINT, LPCTSTR))((UINT)wParam, (LPCTSTR)lParam);
            break;
        case AfxSig_h_D_W_u: {
            // WM_CTLCOLOR: the classic single message, or one of the WM_CTLCOLOR* family.
            UINT nCtlType = (message == WM_CTLCOLOR) ? (UINT)HIWORD(lParam) : message - WM_CTLCOLORMSGBOX;
            HWND hCtl = (message == WM_CTLCOLOR) ? (HWND)(UINT_PTR)LOWORD(lParam) : (HWND)lParam;
            lResult = (LRESULT)AFX_CALL(HBRUSH (CWnd::*)(CDC*, CWnd*, UINT))(CDC::FromHandle((HDC)wParam),
                                                                              CWnd::FromHandle(hCtl), nCtlType);
            break;
        }
        case AfxSig_h_D_u: {
            AFX_CTLCOLOR* pCtl = (AFX_CTLCOLOR*)lParam;
            lResult = (LRESULT)AFX_CALL(HBRUSH (CWnd::*)(CDC*, UINT))(CDC::FromHandle(pCtl->hDC), pCtl->nCtlType);
            break;
        }
        case AfxSig_v_i_DRAW:
            AFX_CALL(void (CWnd::*)(int, LPDRAWITEMSTRUCT))((int)wParam, (LPDRAWITEMSTRUCT)lParam);
            lResult = TRUE;
            break;
        case AfxSig_v_DRAW:
            AFX_CALL(void (CWnd::*)(LPDRAWITEMSTRUCT))((LPDRAWITEMSTRUCT)lParam);
            lResult = TRUE;
            break;
        case AfxSig_v_i_MEASURE:
            AFX_CALL(void (CWnd::*)(int, LPMEASUREITEMSTRUCT))((int)wParam, (LPMEASUREITEMSTRUCT)lParam);
            lResult = TRUE;
            break;
        case AfxSig_v_MEASURE:
            AFX_CALL(void (CWnd::*)(LPMEASUREITEMSTRUCT))((LPMEASUREITEMSTRUCT)lParam);
            lResult = TRUE;
            break;
        case AfxSig_v_i_DELETE:
            AFX_CALL(void (CWnd::*)(int, LPDELETEITEMSTRUCT))((int)wParam, (LPDELETEITEMSTRUCT)lParam);
            lResult = TRUE;
            break;
        case AfxSig_v_DELETE:
            AFX_CALL(void (CWnd::*)(LPDELETEITEMSTRUCT))((LPDELETEITEMSTRUCT)lParam);
            lResult = TRUE;
            break;
        case AfxSig_i_i_COMPARE:
            lResult = AFX_CALL(int (CWnd::*)(int, LPCOMPAREITEMSTRUCT))((int)wParam, (LPCOMPAREITEMSTRUCT)lParam);
            break;
        case AfxSig_i_COMPARE:
            lResult = AFX_CALL(int (CWnd::*)(LPCOMPAREITEMSTRUCT))((LPCOMPAREITEMSTRUCT)lParam);
            break;
        case AfxSig_v_u_u_SCROLL:
            AFX_CALL(void (CWnd::*)(UINT, UINT, CScrollBar*))(LOWORD(wParam), (short)HIWORD(wParam),
                                                               (CScrollBar*)CWnd::FromHandle((HWND)lParam));
            break;
        case AfxSig_v_u_u_REFLSCROLL:
            AFX_CALL(void (CWnd::*)(UINT, UINT))(LOWORD(wParam), (short)HIWORD(wParam));
            break;
        case AfxSig_v_M_u_b:
            AFX_CALL(void (CWnd::*)(CMenu*, UINT, BOOL))(CMenu::FromHandle((HMENU)wParam), LOWORD(lParam),
                                                          (BOOL)HIWORD(lParam));
            break;
        case AfxSig_v_M:
            AFX_CALL(void (CWnd::*)(CMenu*))(CMenu::FromHandle((HMENU)wParam));
            break;
        case AfxSig_v_u_u_HMENU:
            AFX_CALL(void (CWnd::*)(UINT, UINT, HMENU))(LOWORD(wParam), HIWORD(wParam), (HMENU)lParam);
            break;
        case AfxSig_l_u_u_M:
            lResult = AFX_CALL(LRESULT (CWnd::*)(UINT, UINT, CMenu*))(LOWORD(wParam), HIWORD(wParam),
                                                                       CMenu::FromHandle((HMENU)lParam));
            break;
        case AfxSig_b_HELPINFO:
            lResult = AFX_CALL(BOOL (CWnd::*)(HELPINFO*))((HELPINFO*)lParam);
            break;
        case AfxSig_v_i_STYLE:
            AFX_CALL(void (CWnd::*)(int, LPSTYLESTRUCT))((int)wParam, (LPSTYLESTRUCT)lParam);
            break;
        case AfxSig_b_W_COPYDATA:
            lResult = AFX_CALL(BOOL (CWnd::*)(CWnd*, COPYDATASTRUCT*))(CWnd::FromHandle((HWND)wParam),
                                                                        (COPYDATASTRUCT*)lParam);
            break;
        case AfxSig_v_HDROP:
            AFX_CALL(void (CWnd::*)(HDROP))((HDROP)wParam);
            break;
        case AfxSig_i_u_W_u:
            lResult = AFX_CALL(int (CWnd::*)(UINT, CWnd*, UINT))(LOWORD(wParam), CWnd::FromHandle((HWND)lParam),
                                                                  HIWORD(wParam));
            break;
        case AfxSig_v_b_W_W:
            // WM_MDIACTIVATE: lParam is the window being activated.
            AFX_CALL(void (CWnd::*)(BOOL, CWnd*, CWnd*))((HWND)lParam == m_hWnd, CWnd::FromHandle((HWND)lParam),
                                                          CWnd::FromHandle((HWND)wParam));
            break;
        case AfxSig_v_u_W:
            AFX_CALL(void (CWnd::*)(UINT, CWnd*))((UINT)wParam, CWnd::FromHandle((HWND)lParam));
            break;
        default:
            return FALSE;
        }
#undef AFX_CALL
    }

LReturnTrue:
    if (pResult != NULL) *pResult = lResult;
    return TRUE;
}

// ---- commands -----------------------------------------------------------------------------

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam) {
    UINT nID = LOWORD(wParam);
    HWND hWndCtrl = (HWND)lParam;
    int nCode = HIWORD(wParam);
    _AFX_THREAD_STATE* pState = AfxGetThreadState();

    if (hWndCtrl == NULL) {
        // A menu command or an accelerator: refuse it when its update handler disables
        // it (the user may have pressed the key of a greyed-out command).
        if (nID == 0) return FALSE;
        CTestCmdUI state;
        state.m_nID = nID;
        OnCmdMsg(nID, (int)CN_UPDATE_COMMAND_UI, &state, NULL);
        if (!state.m_bEnabled) return TRUE;
        nCode = CN_COMMAND;
    } else {
        // A control notification: the control's own object gets the first chance.
        if (pState->m_hLockoutNotifyWindow == m_hWnd) return TRUE;
        if (ReflectLastMsg(hWndCtrl)) return TRUE;
        if (nID == 0) return FALSE;
    }
    return OnCmdMsg(nID, nCode, NULL, NULL);
}

BOOL CWnd::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    UNUSED(wParam);
    NMHDR* pNMHDR = (NMHDR*)lParam;
    HWND hWndCtrl = pNMHDR->hwndFrom;
    // The id comes from the sending window itself, not from idFrom: a tooltip control
    // puts its tool's id (often a window handle) there, and its TTN_ requests must
    // still meet ON_NOTIFY(_EX)_RANGE entries over 0..0xFFFF.
    UINT nID = (UINT)::GetDlgCtrlID(hWndCtrl);
    int nCode = (int)pNMHDR->code;
    _AFX_THREAD_STATE* pState = AfxGetThreadState();
    if (pState->m_hLockoutNotifyWindow == m_hWnd) return TRUE;
    if (ReflectLastMsg(hWndCtrl, pResult)) return TRUE;
    AFX_NOTIFY notify;
    notify.pResult = pResult;
    notify.pNMHDR = pNMHDR;
    return OnCmdMsg(nID, MAKELONG(nCode, WM_NOTIFY), &notify, NULL);
}

// ---- reflection ---------------------------------------------------------------------------

BOOL PASCAL CWnd::ReflectLastMsg(HWND hWndChild, LRESULT* pResult) {
    CWnd* pWnd = FromHandlePermanent(hWndChild);
    if (pWnd == NULL) return FALSE;
    return pWnd->SendChildNotifyLastMsg(pResult);
}

BOOL CWnd::SendChildNotifyLastMsg(LRESULT* pResult) {
    _AFX_THREAD_STATE* pState = AfxGetThreadState();
    return OnChildNotify(pState->m_lastSentMsg.message, pState->m_lastSentMsg.wParam, pState->m_lastSentMsg.lParam,
                         pResult);
}

BOOL CWnd::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    return ReflectChildNotify(message, wParam, lParam, pResult);
}

BOOL CWnd::ReflectChildNotify(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    switch (uMsg) {
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_PARENTNOTIFY:
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
    case WM_DELETEITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
    case WM_COMPAREITEM:
        return CWnd::OnWndMsg(WM_REFLECT_BASE + uMsg, wParam, lParam, pResult);

    case WM_COMMAND: {
        int nCode = HIWORD(wParam);
        if (CWnd::OnCmdMsg(0, MAKELONG(nCode, WM_REFLECT_BASE + WM_COMMAND), NULL, NULL)) {
            if (pResult != NULL) *pResult = 1;
            return TRUE;
        }
        break;
    }

    case WM_NOTIFY: {
        NMHDR* pNMHDR = (NMHDR*)lParam;
        int nCode = (int)pNMHDR->code;
        AFX_NOTIFY notify;
        notify.pResult = pResult;
        notify.pNMHDR = pNMHDR;
        return CWnd::OnCmdMsg(0, MAKELONG(nCode, WM_REFLECT_BASE + WM_NOTIFY), &notify, NULL);
    }

    default:
        if (uMsg >= WM_CTLCOLORMSGBOX && uMsg <= WM_CTLCOLORSTATIC) {
            AFX_CTLCOLOR ctl;
            ctl.hDC = (HDC)wParam;
            ctl.nCtlType = uMsg - WM_CTLCOLORMSGBOX;
            ctl.hWnd = m_hWnd;
            LRESULT lResult = 0;
            BOOL bResult = CWnd::OnWndMsg(WM_REFLECT_BASE + WM_CTLCOLOR, 0, (LPARAM)&ctl, &lResult);
            // A control that answers no brush leaves the colours to its parent.
            if (lResult == 0) return FALSE;
            if (pResult != NULL) *pResult = lResult;
            return bResult;
        }
        break;
    }
    return FALSE;
}

// ---- handlers of the CWnd map: reflection and system-change relays ------------------------

void CWnd::OnDrawItem(int nIDCtl, LPDRAWITEMSTRUCT lpDrawItemStruct) {
    // An owner-drawn menu item is drawn by its menu object when the menu has one;
    // controls by their own object first.
    UNUSED(nIDCtl);
    if (lpDrawItemStruct->CtlType == ODT_MENU) {
        CMenu* pMenu = CMenu::FromHandlePermanent((HMENU)lpDrawItemStruct->hwndItem);
        if (pMenu != NULL) {
            pMenu->DrawItem(lpDrawItemStruct);
            return;
        }
    } else if (ReflectLastMsg(lpDrawItemStruct->hwndItem)) {
        return;
    }
    Default();
}

namespace {

// The menu object of the (sub)menu that holds command nID, searching popups first.
CMenu* FindPopupMenuFromID(HMENU hMenu, UINT nID) {
    int nItems = ::GetMenuItemCount(hMenu);
    for (int i = 0; i < nItems; i++) {
        HMENU hPopup = ::GetSubMenu(hMenu, i);
        if (hPopup != NULL) {
            CMenu* pMenu = FindPopupMenuFromID(hPopup, nID);
            if (pMenu != NULL) return pMenu;
        } else if (::GetMenuItemID(hMenu, i) == nID) {
            return CMenu::FromHandlePermanent(hMenu);
        }
    }
    return NULL;
}

}  // namespace

void CWnd::OnMeasureItem(int nIDCtl, LPMEASUREITEMSTRUCT lpMeasureItemStruct) {
    if (lpMeasureItemStruct->CtlType == ODT_MENU) {
        // WM_MEASUREITEM names no menu: the item is looked for in the popup menu this
        // window is tracking, else in its menu bar; the menu object that has it measures.
        _AFX_THREAD_STATE* pState = AfxGetThreadState();
        HMENU hMenu = (pState->m_hTrackingWindow == m_hWnd && pState->m_hTrackingMenu != NULL)
                          ? pState->m_hTrackingMenu
                          : ::GetMenu(m_hWnd);
        CMenu* pMenu = hMenu != NULL ? FindPopupMenuFromID(hMenu, lpMeasureItemStruct->itemID) : NULL;
        if (pMenu != NULL) {
            pMenu->MeasureItem(lpMeasureItemStruct);
            return;
        }
        Default();
        return;
    }
    // WM_MEASUREITEM carries no window: find the control by its id. A list view sends
    // it before its handle is known to the parent, so search descendants too.
    HWND hWndChild = ::GetDlgItem(m_hWnd, nIDCtl);
    if (hWndChild == NULL) {
        CWnd* pChild = GetDescendantWindow(nIDCtl, TRUE);
        hWndChild = pChild ? pChild->m_hWnd : NULL;
    }
    if (hWndChild != NULL && ReflectLastMsg(hWndChild)) return;
    Default();
}

int CWnd::OnCompareItem(int nIDCtl, LPCOMPAREITEMSTRUCT lpCompareItemStruct) {
    UNUSED(nIDCtl);
    LRESULT lResult;
    if (ReflectLastMsg(lpCompareItemStruct->hwndItem, &lResult)) return (int)lResult;
    return (int)Default();
}

void CWnd::OnDeleteItem(int nIDCtl, LPDELETEITEMSTRUCT lpDeleteItemStruct) {
    UNUSED(nIDCtl);
    if (ReflectLastMsg(lpDeleteItemStruct->hwndItem)) return;
    Default();
}

HBRUSH CWnd::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor) {
    UNUSED(pDC);
    UNUSED(nCtlColor);
    LRESULT lResult;
    if (pWnd != NULL && pWnd->m_hWnd != m_hWnd && ReflectLastMsg(pWnd->m_hWnd, &lResult)) return (HBRUSH)lResult;
    return (HBRUSH)Default();
}

void CWnd::OnHScroll(UINT, UINT, CScrollBar* pScrollBar) {
    if (pScrollBar != NULL && ReflectLastMsg(((CWnd*)pScrollBar)->m_hWnd)) return;
    Default();
}

void CWnd::OnVScroll(UINT, UINT, CScrollBar* pScrollBar) {
    if (pScrollBar != NULL && ReflectLastMsg(((CWnd*)pScrollBar)->m_hWnd)) return;
    Default();
}

void CWnd::OnParentNotify(UINT message, LPARAM lParam) {
    if ((LOWORD(message) == WM_CREATE || LOWORD(message) == WM_DESTROY)) {
        if (ReflectLastMsg((HWND)lParam)) return;
    }
    Default();
}

int CWnd::OnVKeyToItem(UINT, CWnd* pListBox, UINT) {
    LRESULT lResult;
    if (pListBox != NULL && ReflectLastMsg(pListBox->m_hWnd, &lResult)) return (int)lResult;
    return (int)Default();
}

int CWnd::OnCharToItem(UINT, CWnd* pListBox, UINT) {
    LRESULT lResult;
    if (pListBox != NULL && ReflectLastMsg(pListBox->m_hWnd, &lResult)) return (int)lResult;
    return (int)Default();
}

BOOL CWnd::OnHelpInfo(HELPINFO* lpHelpInfo) {
    UNUSED(lpHelpInfo);
    // The classic default: ask the application's help for the top-level window.
    if (!(GetStyle() & WS_CHILD)) {
        CWnd* pMainWnd = AfxGetMainWnd();
        if (pMainWnd != NULL && GetKeyState(VK_SHIFT) >= 0 && GetKeyState(VK_CONTROL) >= 0 &&
            GetKeyState(VK_MENU) >= 0) {
            pMainWnd->SendMessage(WM_COMMAND, ID_HELP);
            return TRUE;
        }
    }
    return (BOOL)Default();
}

void CWnd::OnSysColorChange() {
    // Top-level windows pass system changes to their whole tree, so every framework
    // window hears of them (the system only tells top-level windows).
    if (!(GetStyle() & WS_CHILD)) SendMessageToDescendants(WM_SYSCOLORCHANGE, 0, 0, TRUE, TRUE);
    Default();
}

void CWnd::OnSettingChange(UINT uFlags, LPCTSTR lpszSection) {
    UNUSED(uFlags);
    UNUSED(lpszSection);
    if (!(GetStyle() & WS_CHILD)) {
        _AFX_THREAD_STATE* pState = AfxGetThreadState();
        SendMessageToDescendants(WM_SETTINGCHANGE, pState->m_lastSentMsg.wParam, pState->m_lastSentMsg.lParam, TRUE,
                                 TRUE);
    }
    Default();
}

LRESULT CWnd::OnDisplayChange(WPARAM wParam, LPARAM lParam) {
    if (!(GetStyle() & WS_CHILD)) SendMessageToDescendants(WM_DISPLAYCHANGE, wParam, lParam, TRUE, TRUE);
    return Default();
}

LRESULT CWnd::OnThemeChanged() { return Default(); }

void CWnd::OnDestroy() {
    // The tooltip relay must not keep pointing at a dying window.
    _AFX_THREAD_STATE* pState = AfxGetThreadState();
    if (pState->m_pLastHit == this) {
        pState->m_pLastHit = NULL;
        pState->m_nLastHit = -1;
    }
    Default();
}

void CWnd::OnNcDestroy() {
    CWinThread* pThread = AfxGetThread();
    if (pThread != NULL) {
        if (pThread->m_pMainWnd == this) {
            // The main window gone ends the thread's loop.
            ::PostQuitMessage(0);
            pThread->m_pMainWnd = NULL;
        }
        if (pThread->m_pActiveWnd == this) pThread->m_pActiveWnd = NULL;
    }
    _AFX_THREAD_STATE* pState = AfxGetThreadState();
    if ((m_nFlags & (WF_TOOLTIPS | WF_TRACKINGTOOLTIPS)) && pState->m_pToolTip != NULL &&
        pState->m_pToolTip->m_hWnd != NULL) {
        TOOLINFOA ti;
        ZeroMemory(&ti, sizeof(ti));
        ti.cbSize = AFX_OLDTOOLINFO_SIZE;
        ti.uFlags = TTF_IDISHWND;
        ti.hwnd = m_hWnd;
        ti.uId = (UINT_PTR)m_hWnd;
        ::SendMessageA(pState->m_pToolTip->m_hWnd, TTM_DELTOOL, 0, (LPARAM)&ti);
    }
    if (pState->m_pLastHit == this) {
        pState->m_pLastHit = NULL;
        pState->m_nLastHit = -1;
    }

    // Default, then unsubclass unless someone subclassed after us, then unbind.
    WNDPROC pfnWndProc = (WNDPROC)::GetWindowLongPtrA(m_hWnd, GWLP_WNDPROC);
    Default();
    if ((WNDPROC)::GetWindowLongPtrA(m_hWnd, GWLP_WNDPROC) == pfnWndProc) {
        WNDPROC pfnSuper = *GetSuperWndProcAddr();
        if (pfnSuper != NULL) ::SetWindowLongPtrA(m_hWnd, GWLP_WNDPROC, (LONG_PTR)pfnSuper);
    }
    Detach();
    PostNcDestroy();  // may delete this
}


// ---- default handlers: each lets the window procedure below do its work -------------------

int CWnd::OnCreate(LPCREATESTRUCT) { return (int)Default(); }
BOOL CWnd::OnNcCreate(LPCREATESTRUCT) { return (BOOL)Default(); }
void CWnd::OnPaint() { Default(); }
BOOL CWnd::OnEraseBkgnd(CDC*) { return (BOOL)Default(); }
void CWnd::OnPrintClient(CDC*, UINT) { Default(); }
void CWnd::OnSize(UINT, int, int) { Default(); }
void CWnd::OnMove(int, int) { Default(); }
void CWnd::OnMoving(UINT, LPRECT) { Default(); }
void CWnd::OnSizing(UINT, LPRECT) { Default(); }
void CWnd::OnWindowPosChanging(WINDOWPOS*) { Default(); }
void CWnd::OnWindowPosChanged(WINDOWPOS*) { Default(); }
void CWnd::OnGetMinMaxInfo(MINMAXINFO*) { Default(); }
void CWnd::OnShowWindow(BOOL, UINT) { Default(); }
void CWnd::OnTimer(UINT_PTR) { Default(); }
void CWnd::OnMouseMove(UINT, CPoint) { Default(); }
void CWnd::OnLButtonDown(UINT, CPoint) { Default(); }
void CWnd::OnLButtonUp(UINT, CPoint) { Default(); }
void CWnd::OnLButtonDblClk(UINT, CPoint) { Default(); }
void CWnd::OnRButtonDown(UINT, CPoint) { Default(); }
void CWnd::OnRButtonUp(UINT, CPoint) { Default(); }
void CWnd::OnRButtonDblClk(UINT, CPoint) { Default(); }
void CWnd::OnMButtonDown(UINT, CPoint) { Default(); }
void CWnd::OnMButtonUp(UINT, CPoint) { Default(); }
void CWnd::OnMButtonDblClk(UINT, CPoint) { Default(); }
void CWnd::OnNcMouseMove(UINT, CPoint) { Default(); }
void CWnd::OnNcLButtonDown(UINT, CPoint) { Default(); }
void CWnd::OnNcLButtonUp(UINT, CPoint) { Default(); }
void CWnd::OnNcLButtonDblClk(UINT, CPoint) { Default(); }
void CWnd::OnNcRButtonDown(UINT, CPoint) { Default(); }
void CWnd::OnNcRButtonUp(UINT, CPoint) { Default(); }
void CWnd::OnNcRButtonDblClk(UINT, CPoint) { Default(); }
void CWnd::OnNcMButtonDown(UINT, CPoint) { Default(); }
void CWnd::OnNcMButtonUp(UINT, CPoint) { Default(); }
BOOL CWnd::OnMouseWheel(UINT, short, CPoint) { return (BOOL)Default(); }
void CWnd::OnMouseLeave() { Default(); }
void CWnd::OnActivate(UINT, CWnd*, BOOL) { Default(); }
void CWnd::OnActivateApp(BOOL, DWORD) { Default(); }
int CWnd::OnMouseActivate(CWnd*, UINT, UINT) { return (int)Default(); }
BOOL CWnd::OnSetCursor(CWnd*, UINT, UINT) { return (BOOL)Default(); }
void CWnd::OnSetFocus(CWnd*) { Default(); }
void CWnd::OnKillFocus(CWnd*) { Default(); }
void CWnd::OnCaptureChanged(CWnd*) { Default(); }
void CWnd::OnCancelMode() { Default(); }
void CWnd::OnKeyDown(UINT, UINT, UINT) { Default(); }
void CWnd::OnKeyUp(UINT, UINT, UINT) { Default(); }
void CWnd::OnChar(UINT, UINT, UINT) { Default(); }
void CWnd::OnDeadChar(UINT, UINT, UINT) { Default(); }
void CWnd::OnSysKeyDown(UINT, UINT, UINT) { Default(); }
void CWnd::OnSysKeyUp(UINT, UINT, UINT) { Default(); }
void CWnd::OnSysChar(UINT, UINT, UINT) { Default(); }
UINT CWnd::OnGetDlgCode() { return (UINT)Default(); }
void CWnd::OnNcCalcSize(BOOL, NCCALCSIZE_PARAMS*) { Default(); }
void CWnd::OnNcPaint() { Default(); }
LRESULT CWnd::OnNcHitTest(CPoint) { return Default(); }
BOOL CWnd::OnNcActivate(BOOL) { return (BOOL)Default(); }
void CWnd::OnEnable(BOOL) { Default(); }
void CWnd::OnClose() { Default(); }
void CWnd::OnContextMenu(CWnd*, CPoint) { Default(); }
void CWnd::OnSysCommand(UINT, LPARAM) { Default(); }
HCURSOR CWnd::OnQueryDragIcon() { return (HCURSOR)Default(); }
void CWnd::OnTimeChange() { Default(); }
void CWnd::OnPaletteChanged(CWnd*) { Default(); }
void CWnd::OnPaletteIsChanging(CWnd*) { Default(); }
BOOL CWnd::OnQueryNewPalette() { return (BOOL)Default(); }
void CWnd::OnInitMenu(CMenu*) { Default(); }
void CWnd::OnInitMenuPopup(CMenu*, UINT, BOOL) { Default(); }
void CWnd::OnMenuSelect(UINT, UINT, HMENU) { Default(); }
LRESULT CWnd::OnMenuChar(UINT, UINT, CMenu*) { return Default(); }
void CWnd::OnStyleChanging(int, LPSTYLESTRUCT) { Default(); }
void CWnd::OnStyleChanged(int, LPSTYLESTRUCT) { Default(); }
BOOL CWnd::OnCopyData(CWnd*, COPYDATASTRUCT*) { return (BOOL)Default(); }
void CWnd::OnDropFiles(HDROP) { Default(); }
void CWnd::OnNcMButtonDblClk(UINT, CPoint) { Default(); }
void CWnd::OnMouseHover(UINT, CPoint) { Default(); }
void CWnd::OnNcMouseHover(UINT, CPoint) { Default(); }
void CWnd::OnNcMouseLeave() { Default(); }
void CWnd::OnMDIActivate(BOOL, CWnd*, CWnd*) { Default(); }
void CWnd::OnChildActivate() { Default(); }
void CWnd::OnEnterIdle(UINT, CWnd*) { Default(); }
void CWnd::OnEnterMenuLoop(BOOL) { Default(); }
void CWnd::OnExitMenuLoop(BOOL) { Default(); }
BOOL CWnd::OnQueryOpen() { return (BOOL)Default(); }
BOOL CWnd::OnQueryEndSession() { return (BOOL)Default(); }
void CWnd::OnEndSession(BOOL) { Default(); }

PTM_WARNING_RESTORE
