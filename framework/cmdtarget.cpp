// CCmdTarget's message-map walk and command dispatch; CCmdUI and CTestCmdUI.
#include "framework/cmdtarget.h"
#include "framework/wnd.h"
#include "framework/app.h"
#include "framework/menu.h"

PTM_WARNING_DISABLE

IMPLEMENT_DYNAMIC(CCmdTarget, CObject)

// The root of every map chain: no entries, no base.
const AFX_MSGMAP* PASCAL CCmdTarget::GetThisMessageMap() {
    static const AFX_MSGMAP_ENTRY _messageEntries[] = {{0, 0, 0, 0, AfxSig_end, (AFX_PMSG)0}};
    static const AFX_MSGMAP messageMap = {NULL, &_messageEntries[0]};
    return &messageMap;
}

const AFX_MSGMAP* CCmdTarget::GetMessageMap() const { return GetThisMessageMap(); }

CCmdTarget::CCmdTarget() {}
CCmdTarget::~CCmdTarget() {}

const AFX_MSGMAP_ENTRY* AFXAPI AfxFindMessageEntry(const AFX_MSGMAP_ENTRY* lpEntry, UINT nMsg, UINT nCode,
                                                   UINT nID) {
    for (; lpEntry->nSig != AfxSig_end; ++lpEntry) {
        if (lpEntry->nMessage == nMsg && lpEntry->nCode == nCode && nID >= lpEntry->nID && nID <= lpEntry->nLastID)
            return lpEntry;
    }
    return NULL;
}

BOOL CCmdTarget::HasMessageMapEntry(UINT nMessage, UINT nCode, UINT nID) const {
    for (const AFX_MSGMAP* pMap = GetMessageMap(); pMap != NULL;
         pMap = pMap->pfnGetBaseMap ? pMap->pfnGetBaseMap() : NULL) {
        if (AfxFindMessageEntry(pMap->lpEntries, nMessage, nCode, nID) != NULL) return TRUE;
    }
    return FALSE;
}

BOOL AFXAPI _AfxDispatchCmdMsg(CCmdTarget* pTarget, UINT nID, int nCode, AFX_PMSG pfn, void* pExtra,
                               UINT_PTR nSig, AFX_CMDHANDLERINFO* pHandlerInfo) {
    if (pHandlerInfo != NULL) {
        // Only the question "is there a handler": answer without calling it.
        pHandlerInfo->pTarget = pTarget;
        pHandlerInfo->pmf = pfn;
        return TRUE;
    }
    BOOL bResult = TRUE;
    switch (nSig) {
    case AfxSigCmd_v:
        (pTarget->*pfn)();
        break;
    case AfxSigCmd_b:
        bResult = (pTarget->*reinterpret_cast<BOOL (CCmdTarget::*)()>(pfn))();
        break;
    case AfxSigCmd_RANGE:
        (pTarget->*reinterpret_cast<void (CCmdTarget::*)(UINT)>(pfn))(nID);
        break;
    case AfxSigCmd_EX:
        bResult = (pTarget->*reinterpret_cast<BOOL (CCmdTarget::*)(UINT)>(pfn))(nID);
        break;
    case AfxSigNotify_v: {
        AFX_NOTIFY* pNotify = (AFX_NOTIFY*)pExtra;
        (pTarget->*reinterpret_cast<void (CCmdTarget::*)(NMHDR*, LRESULT*)>(pfn))(pNotify->pNMHDR,
                                                                                  pNotify->pResult);
        break;
    }
    case AfxSigNotify_b: {
        AFX_NOTIFY* pNotify = (AFX_NOTIFY*)pExtra;
        bResult = (pTarget->*reinterpret_cast<BOOL (CCmdTarget::*)(NMHDR*, LRESULT*)>(pfn))(pNotify->pNMHDR,
                                                                                            pNotify->pResult);
        break;
    }
    case AfxSigNotify_RANGE: {
        AFX_NOTIFY* pNotify = (AFX_NOTIFY*)pExtra;
        (pTarget->*reinterpret_cast<void (CCmdTarget::*)(UINT, NMHDR*, LRESULT*)>(pfn))(nID, pNotify->pNMHDR,
                                                                                        pNotify->pResult);
        break;
    }
    case AfxSigNotify_EX: {
        AFX_NOTIFY* pNotify = (AFX_NOTIFY*)pExtra;
        bResult = (pTarget->*reinterpret_cast<BOOL (CCmdTarget::*)(UINT, NMHDR*, LRESULT*)>(pfn))(
            nID, pNotify->pNMHDR, pNotify->pResult);
        break;
    }
    case AfxSigCmdUI: {
        // An update handler that calls ContinueRouting() lets the next target answer.
        CCmdUI* pCmdUI = (CCmdUI*)pExtra;
        pCmdUI->m_bContinueRouting = FALSE;
        (pTarget->*reinterpret_cast<void (CCmdTarget::*)(CCmdUI*)>(pfn))(pCmdUI);
        bResult = !pCmdUI->m_bContinueRouting;
        pCmdUI->m_bContinueRouting = FALSE;
        break;
    }
    default:
        bResult = FALSE;
        break;
    }
    (void)nCode;
    return bResult;
}

BOOL CCmdTarget::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
    // nCode carries the message in its high word (WM_NOTIFY, reflected forms); plain
    // commands and updates have none and mean WM_COMMAND.
    UINT nMsg = 0;
    if ((UINT)nCode != CN_UPDATE_COMMAND_UI) {
        nMsg = HIWORD(nCode);
        nCode = LOWORD(nCode);
    }
    if (nMsg == 0) nMsg = WM_COMMAND;

    for (const AFX_MSGMAP* pMap = GetMessageMap(); pMap != NULL;
         pMap = pMap->pfnGetBaseMap ? pMap->pfnGetBaseMap() : NULL) {
        const AFX_MSGMAP_ENTRY* lpEntry = AfxFindMessageEntry(pMap->lpEntries, nMsg, (UINT)nCode, nID);
        if (lpEntry != NULL)
            return _AfxDispatchCmdMsg(this, nID, nCode, lpEntry->pfn, pExtra, lpEntry->nSig, pHandlerInfo);
    }
    return FALSE;
}

void CCmdTarget::BeginWaitCursor() {
    CWinApp* pApp = AfxGetApp();
    if (pApp) pApp->DoWaitCursor(1);
}
void CCmdTarget::EndWaitCursor() {
    CWinApp* pApp = AfxGetApp();
    if (pApp) pApp->DoWaitCursor(-1);
}
void CCmdTarget::RestoreWaitCursor() {
    CWinApp* pApp = AfxGetApp();
    if (pApp) pApp->DoWaitCursor(0);
}

CWaitCursor::CWaitCursor() {
    CWinApp* pApp = AfxGetApp();
    if (pApp) pApp->DoWaitCursor(1); else ::SetCursor(::LoadCursorA(NULL, IDC_WAIT));
}
CWaitCursor::~CWaitCursor() {
    CWinApp* pApp = AfxGetApp();
    if (pApp) pApp->DoWaitCursor(-1);
}
void CWaitCursor::Restore() {
    CWinApp* pApp = AfxGetApp();
    if (pApp) pApp->DoWaitCursor(0);
}

// ---- CCmdUI ------------------------------------------------------------------------------

CCmdUI::CCmdUI()
    : m_nID(0),
      m_nIndex(0),
      m_pMenu(NULL),
      m_pSubMenu(NULL),
      m_pParentMenu(NULL),
      m_pOther(NULL),
      m_bEnableChanged(FALSE),
      m_bContinueRouting(FALSE),
      m_nIndexMax(0) {}

void CCmdUI::Enable(BOOL bOn) {
    if (m_pMenu != NULL) {
        if (m_pSubMenu != NULL) return;  // a popup item is not enabled through its id
        ::EnableMenuItem(m_pMenu->m_hMenu, m_nIndex, MF_BYPOSITION | (bOn ? MF_ENABLED : (MF_DISABLED | MF_GRAYED)));
    } else if (m_pOther != NULL && m_pOther->m_hWnd != NULL) {
        // A control about to be disabled hands the focus on first, or the keyboard dies.
        if (!bOn && ::GetFocus() == m_pOther->m_hWnd) {
            HWND hParent = ::GetParent(m_pOther->m_hWnd);
            if (hParent != NULL) ::SendMessageA(hParent, WM_NEXTDLGCTL, 0, FALSE);
        }
        ::EnableWindow(m_pOther->m_hWnd, bOn);
    }
    m_bEnableChanged = TRUE;
}

void CCmdUI::SetCheck(int nCheck) {
    if (m_pMenu != NULL) {
        if (m_pSubMenu != NULL) return;
        ::CheckMenuItem(m_pMenu->m_hMenu, m_nIndex, MF_BYPOSITION | (nCheck ? MF_CHECKED : MF_UNCHECKED));
    } else if (m_pOther != NULL && m_pOther->m_hWnd != NULL) {
        if (::SendMessageA(m_pOther->m_hWnd, WM_GETDLGCODE, 0, 0) & DLGC_BUTTON)
            ::SendMessageA(m_pOther->m_hWnd, BM_SETCHECK, (WPARAM)nCheck, 0);
    }
}

void CCmdUI::SetRadio(BOOL bOn) {
    if (m_pMenu != NULL) {
        if (m_pSubMenu != NULL) return;
        MENUITEMINFOA mii;
        ZeroMemory(&mii, sizeof(mii));
        mii.cbSize = sizeof(mii);
        mii.fMask = MIIM_FTYPE | MIIM_STATE;
        if (::GetMenuItemInfoA(m_pMenu->m_hMenu, m_nIndex, TRUE, &mii)) {
            mii.fType = bOn ? (mii.fType | MFT_RADIOCHECK) : (mii.fType & ~MFT_RADIOCHECK);
            mii.fState = bOn ? (mii.fState | MFS_CHECKED) : (mii.fState & ~MFS_CHECKED);
            ::SetMenuItemInfoA(m_pMenu->m_hMenu, m_nIndex, TRUE, &mii);
        }
    } else {
        SetCheck(bOn ? 1 : 0);
    }
}

void CCmdUI::SetText(LPCTSTR lpszText) {
    if (lpszText == NULL) return;
    if (m_pMenu != NULL) {
        if (m_pSubMenu != NULL) return;
        // Keep the item's state: re-apply it with the new text.
        UINT nState = ::GetMenuState(m_pMenu->m_hMenu, m_nIndex, MF_BYPOSITION);
        nState &= ~(MF_BITMAP | MF_OWNERDRAW | MF_SEPARATOR | MF_POPUP | MF_HILITE);
        ::ModifyMenuA(m_pMenu->m_hMenu, m_nIndex, MF_BYPOSITION | MF_STRING | nState, m_nID, lpszText);
    } else if (m_pOther != NULL && m_pOther->m_hWnd != NULL) {
        char buf[512];
        buf[0] = '\0';
        ::GetWindowTextA(m_pOther->m_hWnd, buf, sizeof(buf));
        if (lstrcmpA(buf, lpszText) != 0) ::SetWindowTextA(m_pOther->m_hWnd, lpszText);
    }
}

BOOL CCmdUI::DoUpdate(CCmdTarget* pTarget, BOOL bDisableIfNoHndler) {
    if (m_nID == 0 || LOWORD(m_nID) == 0xFFFF) return TRUE;  // separators and invalid ids
    m_bEnableChanged = FALSE;
    BOOL bResult = pTarget->OnCmdMsg(m_nID, (int)CN_UPDATE_COMMAND_UI, this, NULL);
    if (bDisableIfNoHndler && !m_bEnableChanged) {
        AFX_CMDHANDLERINFO info;
        info.pTarget = NULL;
        BOOL bHandler = pTarget->OnCmdMsg(m_nID, CN_COMMAND, this, &info);
        // Without an update handler the command handler decides: an item is enabled
        // when one exists along the route (even if it was greyed before), else greyed.
        Enable(bHandler);
    }
    return bResult;
}

CTestCmdUI::CTestCmdUI() : m_bEnabled(TRUE), m_nCheck(-1), m_bRadio(FALSE), m_bTextSet(FALSE) {}
void CTestCmdUI::Enable(BOOL bOn) {
    m_bEnabled = bOn;
    m_bEnableChanged = TRUE;
}
void CTestCmdUI::SetCheck(int nCheck) { m_nCheck = nCheck; }
void CTestCmdUI::SetRadio(BOOL bOn) { m_bRadio = bOn; }
void CTestCmdUI::SetText(LPCTSTR) { m_bTextSet = TRUE; }

PTM_WARNING_RESTORE
