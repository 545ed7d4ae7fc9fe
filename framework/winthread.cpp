// CWinThread's message loop and idle processing, the thread and module state, the
// message-filter hook, and the program entry.
#include "framework/winthread.h"
#include "framework/app.h"
#include "framework/wnd.h"
#include "framework/dc.h"
#include "framework/resources.h"
#include "framework/exceptions.h"

IMPLEMENT_DYNAMIC(CWinThread, CCmdTarget)

// ---- state --------------------------------------------------------------------------------

_AFX_THREAD_STATE::_AFX_THREAD_STATE()
    : m_pCurrentWinThread(NULL),
      m_pWndInit(NULL),
      m_hHookOldCbtFilter(NULL),
      m_hHookOldMsgFilter(NULL),
      m_ptCursorLast(-1, -1),
      m_nMsgLast(0),
      m_hLockoutNotifyWindow(NULL),
      m_hTrackingWindow(NULL),
      m_hTrackingMenu(NULL),
      m_bInMsgFilter(FALSE),
      m_pToolTip(NULL),
      m_pLastHit(NULL),
      m_nLastHit(-1),
      m_nLastStatus(-1),
      m_nTempMapLock(0) {
    ZeroMemory(&m_msgCur, sizeof(m_msgCur));
    ZeroMemory(&m_lastSentMsg, sizeof(m_lastSentMsg));
    ZeroMemory(&m_lastInfo, sizeof(m_lastInfo));
}

_AFX_THREAD_STATE* AFXAPI AfxGetThreadState() {
    // Never freed: windows may still be destroyed while the thread's statics go away.
    static thread_local _AFX_THREAD_STATE* s_pState = nullptr;
    if (s_pState == nullptr) s_pState = new _AFX_THREAD_STATE;
    return s_pState;
}

void AFXAPI AfxEnableControlContainer() {}

CWinThread* AFXAPI AfxGetThread() {
    _AFX_THREAD_STATE* pState = AfxGetThreadState();
    if (pState->m_pCurrentWinThread != NULL) return pState->m_pCurrentWinThread;
    // Threads the framework did not start (and tests) fall back to the application.
    CWinApp* pApp = AfxGetModuleState()->m_pCurrentWinApp;
    if (pApp != NULL && pApp->m_nThreadID == ::GetCurrentThreadId()) return pApp;
    return NULL;
}

MSG* AFXAPI AfxGetCurrentMessage() { return &AfxGetThreadState()->m_msgCur; }

// ---- temporary maps -----------------------------------------------------------------

void AFXAPI AfxLockTempMaps() { ++AfxGetThreadState()->m_nTempMapLock; }

BOOL AFXAPI AfxUnlockTempMaps(BOOL bDeleteTemps) {
    _AFX_THREAD_STATE* pState = AfxGetThreadState();
    if (pState->m_nTempMapLock != 0 && --pState->m_nTempMapLock == 0) {
        if (bDeleteTemps) {
            CWnd::DeleteTempMap();
            AfxDeleteTempGdiMaps();
        }
    }
    return pState->m_nTempMapLock != 0;
}

// ---- message filter hook ------------------------------------------------------------

static LRESULT CALLBACK _AfxMsgFilterHook(int code, WPARAM wParam, LPARAM lParam) {
    _AFX_THREAD_STATE* pState = AfxGetThreadState();
    CWinThread* pThread;
    if (code < 0 || pState->m_bInMsgFilter || (pThread = AfxGetThread()) == NULL)
        return ::CallNextHookEx(pState->m_hHookOldMsgFilter, code, wParam, lParam);
    // A filter may run a loop of its own (a message box from an accelerator): no
    // re-entry into the same filter from there.
    pState->m_bInMsgFilter = TRUE;
    LRESULT lResult = 0;
    try {
        lResult = (LRESULT)pThread->ProcessMessageFilter(code, (LPMSG)lParam);
    } catch (CException* e) {
        e->Delete();
    } catch (...) {
    }
    pState->m_bInMsgFilter = FALSE;
    if (lResult) return lResult;
    return ::CallNextHookEx(pState->m_hHookOldMsgFilter, code, wParam, lParam);
}

void AFXAPI AfxInstallMessageFilterHook() {
    _AFX_THREAD_STATE* pState = AfxGetThreadState();
    if (pState->m_hHookOldMsgFilter == NULL)
        pState->m_hHookOldMsgFilter = ::SetWindowsHookExA(WH_MSGFILTER, _AfxMsgFilterHook, NULL, ::GetCurrentThreadId());
}

void AFXAPI AfxRemoveMessageFilterHook() {
    _AFX_THREAD_STATE* pState = AfxGetThreadState();
    if (pState->m_hHookOldMsgFilter != NULL) {
        ::UnhookWindowsHookEx(pState->m_hHookOldMsgFilter);
        pState->m_hHookOldMsgFilter = NULL;
    }
}

// ---- CWinThread ---------------------------------------------------------------------

CWinThread::CWinThread()
    : m_pMainWnd(NULL), m_pActiveWnd(NULL), m_bAutoDelete(TRUE), m_hThread(NULL), m_nThreadID(0) {
    ZeroMemory(&m_msgCur, sizeof(m_msgCur));
}

CWinThread::~CWinThread() {
    _AFX_THREAD_STATE* pState = AfxGetThreadState();
    if (pState->m_pCurrentWinThread == this) pState->m_pCurrentWinThread = NULL;
}

CWnd* CWinThread::GetMainWnd() {
    if (m_pActiveWnd != NULL) return m_pActiveWnd;
    return m_pMainWnd;
}

BOOL CWinThread::InitInstance() { return FALSE; }

int CWinThread::ExitInstance() { return (int)AfxGetCurrentMessage()->wParam; }

void CWinThread::Delete() {
    if (m_bAutoDelete && this != AfxGetApp()) delete this;
}

BOOL CWinThread::DispatchThreadMessageEx(MSG* pMsg) {
    // Thread messages go through the thread's own message map (ON_THREAD_MESSAGE,
    // ON_REGISTERED_THREAD_MESSAGE).
    for (const AFX_MSGMAP* pMap = GetMessageMap(); pMap != NULL;
         pMap = pMap->pfnGetBaseMap ? pMap->pfnGetBaseMap() : NULL) {
        const AFX_MSGMAP_ENTRY* lpEntry = NULL;
        if (pMsg->message < 0xC000) {
            lpEntry = AfxFindMessageEntry(pMap->lpEntries, pMsg->message, 0, 0);
        } else {
            for (const AFX_MSGMAP_ENTRY* p = pMap->lpEntries; p->nSig != AfxSig_end; ++p)
                if (p->nMessage == 0xC000 && *(UINT*)p->nSig == pMsg->message) {
                    lpEntry = p;
                    break;
                }
        }
        if (lpEntry != NULL) {
            // ON_THREAD_MESSAGE handlers take (WPARAM, LPARAM) and answer nothing.
            typedef void (CWinThread::*PFN)(WPARAM, LPARAM);
            PTM_WARNING_DISABLE
            PFN pfn = reinterpret_cast<PFN>(lpEntry->pfn);
            PTM_WARNING_RESTORE
            (this->*pfn)(pMsg->wParam, pMsg->lParam);
            return TRUE;
        }
    }
    return FALSE;
}

BOOL AFXAPI AfxInternalPreTranslateMessage(MSG* pMsg) {
    CWinThread* pThread = AfxGetThread();
    if (pThread != NULL && pMsg->hwnd == NULL && pThread->DispatchThreadMessageEx(pMsg)) return TRUE;

    // From the target window up to the main window, each framework window may take it.
    CWnd* pMainWnd = AfxGetMainWnd();
    if (CWnd::WalkPreTranslateTree(pMainWnd ? pMainWnd->GetSafeHwnd() : NULL, pMsg)) return TRUE;

    // A modeless window outside the main window's tree: last chance through the main
    // window (its accelerators).
    if (pMainWnd != NULL && pMsg->hwnd != NULL && ::IsWindow(pMainWnd->GetSafeHwnd())) {
        CWnd* pWnd = CWnd::FromHandle(pMsg->hwnd);
        CWnd* pTop = pWnd ? pWnd->GetTopLevelParent() : NULL;
        if (pTop != NULL && pTop->GetSafeHwnd() != pMainWnd->GetSafeHwnd()) return pMainWnd->PreTranslateMessage(pMsg);
    }
    return FALSE;
}

BOOL CWinThread::PreTranslateMessage(MSG* pMsg) { return AfxInternalPreTranslateMessage(pMsg); }

BOOL AFXAPI AfxPreTranslateMessage(MSG* pMsg) {
    CWinThread* pThread = AfxGetThread();
    if (pThread) return pThread->PreTranslateMessage(pMsg);
    return AfxInternalPreTranslateMessage(pMsg);
}

BOOL AFXAPI AfxInternalPumpMessage() {
    _AFX_THREAD_STATE* pState = AfxGetThreadState();
    if (!::GetMessageA(&pState->m_msgCur, NULL, 0, 0)) return FALSE;  // WM_QUIT
    CWinThread* pThread = AfxGetThread();
    if (pThread) pThread->m_msgCur = pState->m_msgCur;
    if (pState->m_msgCur.message != WM_KICKIDLE && !AfxPreTranslateMessage(&pState->m_msgCur)) {
        ::TranslateMessage(&pState->m_msgCur);
        ::DispatchMessageA(&pState->m_msgCur);
    }
    return TRUE;
}

BOOL CWinThread::PumpMessage() { return AfxInternalPumpMessage(); }

BOOL AFXAPI AfxPumpMessage() {
    CWinThread* pThread = AfxGetThread();
    if (pThread) return pThread->PumpMessage();
    return AfxInternalPumpMessage();
}

BOOL AFXAPI AfxInternalIsIdleMessage(MSG* pMsg) {
    _AFX_THREAD_STATE* pState = AfxGetThreadState();
    // A mouse move that did not move, and the caret's and the idle loop's own messages,
    // are no reason to run idle processing again.
    if (pMsg->message == WM_MOUSEMOVE || pMsg->message == WM_NCMOUSEMOVE) {
        CPoint pt(pMsg->pt);
        if (pState->m_ptCursorLast == pt && pMsg->message == pState->m_nMsgLast) return FALSE;
        pState->m_ptCursorLast = pt;
        pState->m_nMsgLast = pMsg->message;
        return TRUE;
    }
    return pMsg->message != WM_PAINT && pMsg->message != 0x0118 /*WM_SYSTIMER: caret blink*/;
}

BOOL CWinThread::IsIdleMessage(MSG* pMsg) { return AfxInternalIsIdleMessage(pMsg); }

BOOL AFXAPI AfxIsIdleMessage(MSG* pMsg) {
    CWinThread* pThread = AfxGetThread();
    if (pThread) return pThread->IsIdleMessage(pMsg);
    return AfxInternalIsIdleMessage(pMsg);
}

BOOL CWinThread::OnIdle(LONG lCount) {
    if (lCount <= 0) {
        // First idle pass: the main window and its children update their command UI.
        CWnd* pMainWnd = m_pMainWnd;
        if (pMainWnd != NULL && pMainWnd->m_hWnd != NULL && pMainWnd->IsWindowVisible()) {
            AfxCallWndProc(pMainWnd, pMainWnd->m_hWnd, WM_IDLEUPDATECMDUI, (WPARAM)TRUE, 0);
            pMainWnd->SendMessageToDescendants(WM_IDLEUPDATECMDUI, (WPARAM)TRUE, 0, TRUE, TRUE);
        }
    } else if (lCount >= 0) {
        // Second pass: free the temporary objects made since the last idle time.
        _AFX_THREAD_STATE* pState = AfxGetThreadState();
        if (pState->m_nTempMapLock == 0) {
            CWnd::DeleteTempMap();
            AfxDeleteTempGdiMaps();
        }
    }
    return lCount < 1;
}

int CWinThread::Run() {
    _AFX_THREAD_STATE* pState = AfxGetThreadState();
    BOOL bIdle = TRUE;
    LONG lIdleCount = 0;
    for (;;) {
        while (bIdle && !::PeekMessageA(&pState->m_msgCur, NULL, 0, 0, PM_NOREMOVE)) {
            if (!OnIdle(lIdleCount++)) bIdle = FALSE;
        }
        do {
            if (!PumpMessage()) return ExitInstance();
            if (IsIdleMessage(&pState->m_msgCur)) {
                bIdle = TRUE;
                lIdleCount = 0;
            }
        } while (::PeekMessageA(&pState->m_msgCur, NULL, 0, 0, PM_NOREMOVE));
    }
}

LRESULT CWinThread::ProcessWndProcException(CException* e, const MSG* pMsg) {
    UNUSED(e);
    if (pMsg == NULL) return 0;
    if (pMsg->message == WM_CREATE) return -1;  // the window is not made
    if (pMsg->message == WM_PAINT) ::ValidateRect(pMsg->hwnd, NULL);
    return 0;
}

LRESULT AFXAPI AfxProcessWndProcException(CException* e, const MSG* pMsg) {
    CWinThread* pThread = AfxGetThread();
    if (pThread != NULL) return pThread->ProcessWndProcException(e, pMsg);
    return pMsg != NULL && pMsg->message == WM_CREATE ? -1 : 0;
}

BOOL CWinThread::ProcessMessageFilter(int code, LPMSG lpMsg) {
    UNUSED(code);
    UNUSED(lpMsg);
    return FALSE;
}

// ---- entry ----------------------------------------------------------------------------

BOOL AFXAPI AfxWinInit(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPTSTR lpCmdLine, int nCmdShow) {
    UNUSED(hPrevInstance);
    AfxSetInstanceHandle(hInstance);
    AfxSetResourceHandle(hInstance);
    CWinApp* pApp = AfxGetApp();
    if (pApp != NULL) {
        pApp->m_hInstance = hInstance;
        pApp->m_lpCmdLine = lpCmdLine;
        pApp->m_nCmdShow = nCmdShow;
        pApp->m_hThread = ::GetCurrentThread();
        pApp->m_nThreadID = ::GetCurrentThreadId();
    }
    AfxInstallMessageFilterHook();
    return TRUE;
}

int AFXAPI AfxWinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPTSTR lpCmdLine, int nCmdShow) {
    // Static initialisation has run by now: the application object exists.
    int nReturnCode = -1;
    CWinThread* pThread = AfxGetThread();
    CWinApp* pApp = AfxGetApp();
    if (!AfxWinInit(hInstance, hPrevInstance, lpCmdLine, nCmdShow)) goto InitFailure;
    if (pApp != NULL && !pApp->InitApplication()) goto InitFailure;
    if (pThread == NULL) goto InitFailure;
    if (!pThread->InitInstance()) {
        // FALSE ends the program. A main window still alive is destroyed; a pointer left
        // to an object that never got a window (a dialog on InitInstance's stack whose
        // template failed) is only forgotten, never used.
        if (AfxIsPermanentWnd(pThread->m_pMainWnd))
            pThread->m_pMainWnd->DestroyWindow();
        pThread->m_pMainWnd = NULL;
        nReturnCode = pThread->ExitInstance();
        goto InitFailure;
    }
    nReturnCode = pThread->Run();
InitFailure:
    AfxRemoveMessageFilterHook();
    return nReturnCode;
}

// The program's entry point lives here so that any program linking the application
// object gets it; console programs (the tests) never call it.
extern "C" int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR lpCmdLine, int nCmdShow) {
    return AfxWinMain(hInstance, hPrevInstance, lpCmdLine, nCmdShow);
}
