// Modal loops on any window, command-UI updates of a dialog's controls, and the
// dialog-data helpers the classic library keeps on CWnd.
#include "framework/wnd.h"
#include "framework/winthread.h"
#include "framework/app.h"
#include "framework/ddx.h"
#include "framework/resources.h"
#include "framework/exceptions.h"
#include <string.h>

BOOL CWnd::ContinueModal() { return (m_nFlags & WF_CONTINUEMODAL) != 0; }

void CWnd::EndModalLoop(int nResult) {
    // The loop returns this; a message makes sure it wakes up to see it.
    m_nModalResult = nResult;
    if (m_nFlags & WF_CONTINUEMODAL) {
        m_nFlags &= ~WF_CONTINUEMODAL;
        ::PostMessageA(m_hWnd, WM_NULL, 0, 0);
    }
}

int CWnd::RunModalLoop(DWORD dwFlags) {
    BOOL bIdle = TRUE;
    LONG lIdleCount = 0;
    BOOL bShowIdle = (dwFlags & MLF_SHOWONIDLE) && !(GetStyle() & WS_VISIBLE);
    HWND hWndParent = ::GetParent(m_hWnd);
    m_nFlags |= (WF_MODALLOOP | WF_CONTINUEMODAL);
    _AFX_THREAD_STATE* pState = AfxGetThreadState();
    MSG* pMsg = &pState->m_msgCur;

    for (;;) {
        // Phase 1: idle work while the queue is empty.
        while (bIdle && !::PeekMessageA(pMsg, NULL, 0, 0, PM_NOREMOVE)) {
            if (bShowIdle) {
                ShowWindow(SW_SHOWNORMAL);
                UpdateWindow();
                bShowIdle = FALSE;
            }
            if (!(dwFlags & MLF_NOIDLEMSG) && hWndParent != NULL && lIdleCount == 0)
                ::SendMessageA(hWndParent, WM_ENTERIDLE, MSGF_DIALOGBOX, (LPARAM)m_hWnd);
            if ((dwFlags & MLF_NOKICKIDLE) || !SendMessage(WM_KICKIDLE, MSGF_DIALOGBOX, lIdleCount++)) bIdle = FALSE;
            if (!ContinueModal()) goto ExitModal;
        }

        // Phase 2: pump while messages are there.
        do {
            // The thread's pump (a virtual the application may override) takes the
            // message into the current-message record and offers it to the
            // pre-translation walk: a dialog's IsDialogMessage passes it through the
            // thread's message filter (MSGF_DIALOGBOX) first, which is how the
            // application's accelerators work while a dialog runs modally.
            if (!AfxPumpMessage()) {
                // WM_QUIT belongs to the outer loop: put it back and leave.
                ::PostQuitMessage((int)pMsg->wParam);
                m_nFlags &= ~(WF_MODALLOOP | WF_CONTINUEMODAL);
                return -1;
            }
            if (bShowIdle && (pMsg->message == 0x118 || pMsg->message == WM_SYSKEYDOWN)) {
                ShowWindow(SW_SHOWNORMAL);
                UpdateWindow();
                bShowIdle = FALSE;
            }
            if (!ContinueModal()) goto ExitModal;
            if (AfxIsIdleMessage(pMsg)) {
                bIdle = TRUE;
                lIdleCount = 0;
            }
        } while (::PeekMessageA(pMsg, NULL, 0, 0, PM_NOREMOVE));
    }

ExitModal:
    m_nFlags &= ~(WF_MODALLOOP | WF_CONTINUEMODAL);
    return m_nModalResult;
}

// ---- command UI of the controls of a dialog ------------------------------------------------

void CWnd::UpdateDialogControls(CCmdTarget* pTarget, BOOL bDisableIfNoHndler) {
    CCmdUI state;
    CWnd wndTemp;  // wraps each child's handle for the update, never bound
    for (HWND hWndChild = ::GetTopWindow(m_hWnd); hWndChild != NULL;
         hWndChild = ::GetWindow(hWndChild, GW_HWNDNEXT)) {
        wndTemp.m_hWnd = hWndChild;
        state.m_nID = (UINT)(WORD)::GetDlgCtrlID(hWndChild);
        state.m_pOther = &wndTemp;

        // A control object may update itself (ON_UPDATE_COMMAND_UI_REFLECT); called
        // directly so that nothing routes further.
        CWnd* pWnd = FromHandlePermanent(hWndChild);
        if (pWnd != NULL &&
            pWnd->CCmdTarget::OnCmdMsg(0, MAKELONG(0xFFFF, WM_COMMAND + WM_REFLECT_BASE), &state, NULL))
            continue;
        // Then this window's own update handlers.
        if (CCmdTarget::OnCmdMsg(state.m_nID, (int)CN_UPDATE_COMMAND_UI, &state, NULL)) continue;

        // Only push buttons are disabled for want of a handler: check boxes, radio
        // buttons and group boxes work on their own.
        BOOL bDisableTemp = bDisableIfNoHndler;
        if (bDisableTemp) {
            if ((::SendMessageA(hWndChild, WM_GETDLGCODE, 0, 0) & DLGC_BUTTON) == 0) {
                bDisableTemp = FALSE;
            } else {
                UINT nStyle = (UINT)(::GetWindowLongA(hWndChild, GWL_STYLE) & 0x0F);
                if (nStyle == BS_AUTOCHECKBOX || nStyle == BS_AUTO3STATE || nStyle == BS_GROUPBOX ||
                    nStyle == BS_AUTORADIOBUTTON)
                    bDisableTemp = FALSE;
            }
        }
        state.DoUpdate(pTarget, bDisableTemp);
    }
    wndTemp.m_hWnd = NULL;
}

// ---- dialog data -------------------------------------------------------------------------

void CWnd::DoDataExchange(CDataExchange*) {}

BOOL CWnd::UpdateData(BOOL bSaveAndValidate) {
    CDataExchange dx(this, bSaveAndValidate);
    // Notifications the exchange causes (EN_CHANGE from setting a text) must not come
    // back into the dialog's handlers while it is under way.
    _AFX_THREAD_STATE* pState = AfxGetThreadState();
    HWND hWndOldLockout = pState->m_hLockoutNotifyWindow;
    pState->m_hLockoutNotifyWindow = m_hWnd;
    BOOL bOK = FALSE;
    try {
        DoDataExchange(&dx);
        bOK = TRUE;
    } catch (CUserException* e) {
        // Validation failed: the user was told and the focus is on the bad field.
        e->Delete();
    } catch (CException* e) {
        e->Delete();
        AfxMessageBox("Failed to update the dialog data.", MB_ICONSTOP);
    }
    pState->m_hLockoutNotifyWindow = hWndOldLockout;
    return bOK;
}

// ---- dialog-init data ----------------------------------------------------------------------

BOOL CWnd::ExecuteDlgInit(LPCTSTR lpszResourceName) {
    // No data (no name, or no resource under it) still runs the empty list, so the
    // children are told that initialisation is over.
    if (lpszResourceName == NULL) return ExecuteDlgInit((LPVOID)NULL);
    HINSTANCE hInst = AfxFindResourceHandle(lpszResourceName, MAKEINTRESOURCEA(RT_DLGINIT));
    HRSRC hRsrc = ::FindResourceA(hInst, lpszResourceName, MAKEINTRESOURCEA(RT_DLGINIT));
    if (hRsrc == NULL) return ExecuteDlgInit((LPVOID)NULL);
    HGLOBAL hRes = ::LoadResource(hInst, hRsrc);
    if (hRes == NULL) return FALSE;
    LPVOID lpResource = ::LockResource(hRes);
    DWORD cbSize = ::SizeofResource(hInst, hRsrc);
    if (lpResource == NULL || cbSize < sizeof(WORD)) return ExecuteDlgInit((LPVOID)NULL);
    // A damaged record must not make us read past the resource: check the lengths
    // first, then run the data from a copy that ends in a zero id.
    DWORD pos = 0;
    while (pos + 2 <= cbSize) {
        WORD nIDC;
        memcpy(&nIDC, (const BYTE*)lpResource + pos, 2);
        if (nIDC == 0) break;
        DWORD dwLen;
        if (pos + 8 > cbSize) return FALSE;
        memcpy(&dwLen, (const BYTE*)lpResource + pos + 4, 4);
        if (dwLen > cbSize - pos - 8) return FALSE;
        pos += 8 + dwLen;
    }
    BYTE* pCopy = new BYTE[pos + 8];
    memcpy(pCopy, lpResource, pos);
    memset(pCopy + pos, 0, 8);
    BOOL bResult = ExecuteDlgInit(pCopy);
    delete[] pCopy;
    return bResult;
}

BOOL CWnd::ExecuteDlgInit(LPVOID lpResource) {
    // Records: WORD control id, WORD message, DWORD length, then that many bytes; a zero
    // id ends the list. List, combo and extended combo boxes get their strings this way.
    BOOL bSuccess = TRUE;
    if (lpResource != NULL) {
        const BYTE* p = (const BYTE*)lpResource;
        for (;;) {
            WORD nIDC, nMsg;
            DWORD dwLen;
            memcpy(&nIDC, p, sizeof(WORD));
            if (nIDC == 0 || !bSuccess) break;
            memcpy(&nMsg, p + 2, sizeof(WORD));
            memcpy(&dwLen, p + 4, sizeof(DWORD));
            p += 8;
            // The resource compiler writes the 16-bit message numbers; 0x1234 marks an
            // item of an extended combo box.
            if (nMsg == 0x1234) nMsg = CBEM_INSERTITEMA;
            else if (nMsg == 0x0401) nMsg = LB_ADDSTRING;
            else if (nMsg == 0x0403) nMsg = CB_ADDSTRING;
            // Only texts that end inside their record are sent; anything else is skipped.
            if (dwLen > 0 && p[dwLen - 1] == '\0') {
                if (nMsg == CBEM_INSERTITEMA) {
                    COMBOBOXEXITEMA item;
                    memset(&item, 0, sizeof(item));
                    item.mask = CBEIF_TEXT;
                    item.iItem = -1;
                    item.pszText = (LPSTR)p;
                    if (::SendDlgItemMessageA(m_hWnd, nIDC, nMsg, 0, (LPARAM)&item) == -1) bSuccess = FALSE;
                } else if (nMsg == LB_ADDSTRING || nMsg == CB_ADDSTRING) {
                    // Both answer -1 (LB_ERR, CB_ERR) when the string could not be added.
                    if (::SendDlgItemMessageA(m_hWnd, nIDC, nMsg, 0, (LPARAM)p) == -1) bSuccess = FALSE;
                }
            }
            p += dwLen;
        }
    }
    // Every control is filled: tell them all that the dialog's initialisation is done.
    if (bSuccess && m_hWnd != NULL) SendMessageToDescendants(WM_INITIALUPDATE, 0, 0, TRUE, FALSE);
    return bSuccess;
}
