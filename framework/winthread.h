// Threads of the window layer: CWinThread with its message loop and idle processing,
// the per-thread state the window procedure relies on (current and last sent message,
// the window being created, the message-filter hook, the tooltip relay), and the
// program entry AfxWinMain.
#pragma once
#include "framework/platform.h"
#include "framework/cmdtarget.h"
#include "framework/geometry.h"
#include "framework/resources.h"

class CWnd;
class CWinThread;
class CWinApp;
class CException;

// What the framework keeps per thread. One instance per thread, made on first use.
struct _AFX_THREAD_STATE {
    _AFX_THREAD_STATE();

    CWinThread* m_pCurrentWinThread;  // the CWinThread object running on this thread

    // Window creation: the object that the next window created on this thread binds to.
    CWnd* m_pWndInit;
    HHOOK m_hHookOldCbtFilter;
    HHOOK m_hHookOldMsgFilter;  // WH_MSGFILTER delivering dialog/menu loops to ProcessMessageFilter

    MSG m_msgCur;        // the message the loop last took (PumpMessage)
    MSG m_lastSentMsg;   // the message the framework's window procedure is dispatching
    CPoint m_ptCursorLast;  // for IsIdleMessage: a mouse move that did not move is not a reason to idle
    UINT m_nMsgLast;
    HWND m_hLockoutNotifyWindow;  // notifications from children of this window are dropped
    // The popup menu a window is tracking (CMenu::TrackPopupMenu): its owner-drawn items
    // are measured by that menu's object rather than by the window's menu bar.
    HWND m_hTrackingWindow;
    HMENU m_hTrackingMenu;
    BOOL m_bInMsgFilter;

    // Tooltip relay (EnableToolTips): one tooltip control per thread.
    CWnd* m_pToolTip;
    CWnd* m_pLastHit;       // window the last hit test ran in
    INT_PTR m_nLastHit;     // its answer (-1: no tool)
    TOOLINFOA m_lastInfo;   // the tool registered for it
    INT_PTR m_nLastStatus;

    int m_nTempMapLock;
};

_AFX_THREAD_STATE* AFXAPI AfxGetThreadState();
#define _afxThreadState (AfxGetThreadState())

// Single-module program: the module state (resources.h) has no per-DLL switching,
// and OLE controls are not hosted, so enabling the container does nothing.
void AFXAPI AfxEnableControlContainer();

class CWinThread : public CCmdTarget {
    DECLARE_DYNAMIC(CWinThread)
public:
    CWinThread();
    virtual ~CWinThread();

    CWnd* m_pMainWnd;        // the thread's main window: the end of PreTranslateMessage walks
    CWnd* m_pActiveWnd;
    BOOL m_bAutoDelete;
    HANDLE m_hThread;
    DWORD m_nThreadID;
    MSG m_msgCur;            // kept in step with the thread state's copy

    operator HANDLE() const { return m_hThread; }
    virtual CWnd* GetMainWnd();

    virtual BOOL InitInstance();
    virtual int ExitInstance();
    virtual int Run();
    virtual BOOL PreTranslateMessage(MSG* pMsg);
    virtual BOOL PumpMessage();
    virtual BOOL OnIdle(LONG lCount);
    virtual BOOL IsIdleMessage(MSG* pMsg);
    virtual BOOL ProcessMessageFilter(int code, LPMSG lpMsg);
    // A framework exception that a message handler let out: the window procedure stops
    // it here. The answer is the message's result: -1 fails a WM_CREATE; a WM_PAINT
    // has its window validated so that it is not asked to paint again at once.
    virtual LRESULT ProcessWndProcException(CException* e, const MSG* pMsg);
    virtual void Delete();

    // Dispatches thread messages (no window); FALSE when nobody took it.
    virtual BOOL DispatchThreadMessageEx(MSG* pMsg);
};

CWinThread* AFXAPI AfxGetThread();
// Hands an exception caught in the window procedure to the thread (or applies the
// thread's default when no thread object exists); the caller deletes the exception.
LRESULT AFXAPI AfxProcessWndProcException(CException* e, const MSG* pMsg);
BOOL AFXAPI AfxPumpMessage();
MSG* AFXAPI AfxGetCurrentMessage();
// Walks from pMsg's window up to (and including) pMainWnd asking each framework
// window's PreTranslateMessage; TRUE when one took the message.
BOOL AFXAPI AfxInternalPreTranslateMessage(MSG* pMsg);
BOOL AFXAPI AfxInternalIsIdleMessage(MSG* pMsg);
BOOL AFXAPI AfxInternalPumpMessage();

// The per-thread WH_MSGFILTER hook: dialog boxes, message boxes and menus running
// their own loops still get the application's accelerators through
// CWinApp::ProcessMessageFilter. Installed by AfxWinMain and by CWinApp's constructor
// for the thread it is built on; harmless to call twice.
void AFXAPI AfxInstallMessageFilterHook();
void AFXAPI AfxRemoveMessageFilterHook();

// Temporary window objects (FromHandle) live until idle time; these keep them alive
// across a nested loop that would otherwise free them.
void AFXAPI AfxLockTempMaps();
BOOL AFXAPI AfxUnlockTempMaps(BOOL bDeleteTemps = TRUE);

int AFXAPI AfxWinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPTSTR lpCmdLine, int nCmdShow);
BOOL AFXAPI AfxWinInit(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPTSTR lpCmdLine, int nCmdShow);
