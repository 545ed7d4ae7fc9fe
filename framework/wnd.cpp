// CWnd core: handle maps, the creation hook, creation and destruction, subclassing,
// the framework's window procedure, and pre-translation.
#include "framework/wnd.h"
#include "framework/winthread.h"
#include "framework/app.h"
#include "framework/exceptions.h"
#include "framework/resources.h"
#include <unordered_map>
#include <vector>

IMPLEMENT_DYNCREATE(CWnd, CCmdTarget)

const CWnd CWnd::wndTop(HWND_TOP);
const CWnd CWnd::wndBottom(HWND_BOTTOM);
const CWnd CWnd::wndTopMost(HWND_TOPMOST);
const CWnd CWnd::wndNoTopMost(HWND_NOTOPMOST);

// ---- handle maps ----------------------------------------------------------------------

namespace {

struct WndMaps {
    std::unordered_map<HWND, CWnd*> permanent;
    std::unordered_map<HWND, CWnd*> temporary;
};

WndMaps& Maps() {
    // Per thread, as window handles belong to threads; never destroyed so that static
    // window objects can still detach while the process exits.
    static thread_local WndMaps* s_pMaps = nullptr;
    if (s_pMaps == nullptr) s_pMaps = new WndMaps;
    return *s_pMaps;
}

template <class T>
inline const T* OpaquePtr(const T* p) {
    __asm__("" : "+r"(p));
    return p;
}

}  // namespace

CWnd::CWnd()
    : m_hWnd(NULL),
      m_nFlags(0),
      m_pCtrlSite(NULL),
      m_pCtrlCont(NULL),
      m_hWndOwner(NULL),
      m_pfnSuper(NULL),
      m_nModalResult(0) {}

CWnd::CWnd(HWND hWnd)
    : m_hWnd(hWnd),
      m_nFlags(0),
      m_pCtrlSite(NULL),
      m_pCtrlCont(NULL),
      m_hWndOwner(NULL),
      m_pfnSuper(NULL),
      m_nModalResult(0) {}

CWnd::~CWnd() {
    if (this == &wndTop || this == &wndBottom || this == &wndTopMost || this == &wndNoTopMost) return;
    if (m_hWnd != NULL && FromHandlePermanent(m_hWnd) == this) {
        // The object goes before its window: destroy the window now so that no message
        // reaches a dead object.
        DestroyWindow();
    }
    if (m_hWnd != NULL) Detach();
    _AFX_THREAD_STATE* pState = AfxGetThreadState();
    if (pState->m_pLastHit == this) {
        pState->m_pLastHit = NULL;
        pState->m_nLastHit = -1;
    }
    if (pState->m_pWndInit == this) pState->m_pWndInit = NULL;
}

HWND CWnd::GetSafeHwnd() const {
    const CWnd* p = OpaquePtr(this);
    return p ? p->m_hWnd : NULL;
}

CWnd* PASCAL CWnd::FromHandlePermanent(HWND hWnd) {
    if (hWnd == NULL) return NULL;
    WndMaps& maps = Maps();
    auto it = maps.permanent.find(hWnd);
    return it == maps.permanent.end() ? NULL : it->second;
}

CWnd* PASCAL CWnd::FromHandle(HWND hWnd) {
    if (hWnd == NULL) return NULL;
    WndMaps& maps = Maps();
    auto it = maps.permanent.find(hWnd);
    if (it != maps.permanent.end()) return it->second;
    auto jt = maps.temporary.find(hWnd);
    if (jt != maps.temporary.end()) return jt->second;
    // A wrapper that lives until the thread's next idle time; it does not subclass.
    CWnd* pWnd = new CWnd;
    pWnd->m_hWnd = hWnd;
    maps.temporary[hWnd] = pWnd;
    return pWnd;
}

BOOL AFXAPI AfxIsPermanentWnd(const CWnd* pWnd) {
    // Compares pointers only: pWnd may point at an object that no longer exists.
    if (pWnd == NULL) return FALSE;
    for (const auto& kv : Maps().permanent)
        if (kv.second == pWnd) return TRUE;
    return FALSE;
}

void PASCAL CWnd::DeleteTempMap() {
    WndMaps& maps = Maps();
    std::unordered_map<HWND, CWnd*> temps;
    temps.swap(maps.temporary);
    for (auto& kv : temps) {
        kv.second->m_hWnd = NULL;  // the handle is not ours: never destroy it
        delete kv.second;
    }
}

BOOL CWnd::Attach(HWND hWndNew) {
    if (hWndNew == NULL) return FALSE;
    WndMaps& maps = Maps();
    // A temporary wrapper of the same handle is retired: it would answer for a window
    // that now has a permanent object.
    auto jt = maps.temporary.find(hWndNew);
    if (jt != maps.temporary.end() && jt->second != this) {
        jt->second->m_hWnd = NULL;
        delete jt->second;
        maps.temporary.erase(jt);
    }
    m_hWnd = hWndNew;
    maps.permanent[hWndNew] = this;
    return TRUE;
}

HWND CWnd::Detach() {
    HWND hWnd = m_hWnd;
    if (hWnd != NULL) {
        WndMaps& maps = Maps();
        auto it = maps.permanent.find(hWnd);
        if (it != maps.permanent.end() && it->second == this) maps.permanent.erase(it);
    }
    m_hWnd = NULL;
    return hWnd;
}

// ---- window procedure -----------------------------------------------------------------

WNDPROC AFXAPI AfxGetAfxWndProc() { return AfxWndProc; }

LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam) {
    if (nMsg == WM_QUERYAFXWNDPROC) return 1;
    CWnd* pWnd = CWnd::FromHandlePermanent(hWnd);
    if (pWnd == NULL || pWnd->m_hWnd != hWnd) return ::DefWindowProcA(hWnd, nMsg, wParam, lParam);
    return AfxCallWndProc(pWnd, hWnd, nMsg, wParam, lParam);
}

LRESULT AFXAPI AfxCallWndProc(CWnd* pWnd, HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam) {
    _AFX_THREAD_STATE* pState = AfxGetThreadState();
    MSG oldState = pState->m_lastSentMsg;  // messages nest: restore on the way out
    pState->m_lastSentMsg.hwnd = hWnd;
    pState->m_lastSentMsg.message = nMsg;
    pState->m_lastSentMsg.wParam = wParam;
    pState->m_lastSentMsg.lParam = lParam;

    LRESULT lResult = 0;
    RECT rectOld = {0, 0, 0, 0};
    DWORD dwStyle = 0;
    try {
        if (nMsg == WM_INITDIALOG) {
            // Remember where the dialog was, to centre it afterwards unless
            // OnInitDialog moved it.
            ::GetWindowRect(hWnd, &rectOld);
            dwStyle = (DWORD)::GetWindowLongA(hWnd, GWL_STYLE);
        }
        lResult = pWnd->WindowProc(nMsg, wParam, lParam);
        if (nMsg == WM_INITDIALOG && ::IsWindow(hWnd)) {
            RECT rectNew;
            ::GetWindowRect(hWnd, &rectNew);
            // Centred only when it was and stays hidden, was not moved, and is modal
            // (owner disabled) or has no owner.
            HWND hOwner = ::GetWindow(hWnd, GW_OWNER);
            if (!(dwStyle & WS_VISIBLE) && !(::GetWindowLongA(hWnd, GWL_STYLE) & (WS_VISIBLE | WS_CHILD)) &&
                rectOld.left == rectNew.left && rectOld.top == rectNew.top &&
                (hOwner == NULL || !::IsWindowEnabled(hOwner)) && CWnd::FromHandlePermanent(hWnd) == pWnd &&
                pWnd->CheckAutoCenter())
                pWnd->CenterWindow();
        }
    } catch (...) {
        // No exception crosses a window procedure: the thread decides the result (a
        // failed creation fails the window) and tells the user. One that is none of the
        // framework's (the C++ library's: out of memory, an index out of range) goes the
        // same way: ended quietly, the message's work would seem done when it is not.
        CException* e = AfxCaughtException();
        lResult = AfxProcessWndProcException(e, &pState->m_lastSentMsg);
        e->Delete();
    }
    pState->m_lastSentMsg = oldState;
    return lResult;
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT lResult = 0;
    if (!OnWndMsg(message, wParam, lParam, &lResult)) lResult = DefWindowProc(message, wParam, lParam);
    return lResult;
}

WNDPROC* CWnd::GetSuperWndProcAddr() { return &m_pfnSuper; }

LRESULT CWnd::DefWindowProc(UINT nMsg, WPARAM wParam, LPARAM lParam) {
    if (m_pfnSuper != NULL) return ::CallWindowProcA(m_pfnSuper, m_hWnd, nMsg, wParam, lParam);
    WNDPROC pfnWndProc = *GetSuperWndProcAddr();
    if (pfnWndProc == NULL) return ::DefWindowProcA(m_hWnd, nMsg, wParam, lParam);
    return ::CallWindowProcA(pfnWndProc, m_hWnd, nMsg, wParam, lParam);
}

LRESULT CWnd::Default() {
    _AFX_THREAD_STATE* pState = AfxGetThreadState();
    return DefWindowProc(pState->m_lastSentMsg.message, pState->m_lastSentMsg.wParam, pState->m_lastSentMsg.lParam);
}

const MSG* CWnd::GetCurrentMessage() {
    _AFX_THREAD_STATE* pState = AfxGetThreadState();
    pState->m_lastSentMsg.time = ::GetMessageTime();
    DWORD pos = ::GetMessagePos();
    pState->m_lastSentMsg.pt.x = (short)LOWORD(pos);
    pState->m_lastSentMsg.pt.y = (short)HIWORD(pos);
    return &pState->m_lastSentMsg;
}

// ---- creation hook ----------------------------------------------------------------------

LRESULT CALLBACK _AfxCbtFilterHook(int code, WPARAM wParam, LPARAM lParam) {
    _AFX_THREAD_STATE* pState = AfxGetThreadState();
    if (code != HCBT_CREATEWND) return ::CallNextHookEx(pState->m_hHookOldCbtFilter, code, wParam, lParam);
    CWnd* pWndInit = pState->m_pWndInit;
    if (pWndInit != NULL) {
        HWND hWnd = (HWND)wParam;
        // Consumed now: windows that PreSubclassWindow creates (a tooltip control, a
        // size grip) must not bind to this object too.
        pState->m_pWndInit = NULL;
        // Bind before WM_NCCREATE: the object sees every message of its window.
        pWndInit->Attach(hWnd);
        try {
            pWndInit->PreSubclassWindow();
        } catch (CException* e) {
            e->Delete();  // a hook cannot pass an exception on to the system
        } catch (...) {
        }
        WNDPROC* pOldWndProc = pWndInit->GetSuperWndProcAddr();
        WNDPROC afxWndProc = AfxGetAfxWndProc();
        WNDPROC oldWndProc = (WNDPROC)::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, (LONG_PTR)afxWndProc);
        if (oldWndProc != afxWndProc) *pOldWndProc = oldWndProc;
    }
    return ::CallNextHookEx(pState->m_hHookOldCbtFilter, code, wParam, lParam);
}

void AFXAPI AfxHookWindowCreate(CWnd* pWnd) {
    _AFX_THREAD_STATE* pState = AfxGetThreadState();
    if (pState->m_pWndInit == pWnd) return;
    if (pState->m_hHookOldCbtFilter == NULL) {
        pState->m_hHookOldCbtFilter = ::SetWindowsHookExA(WH_CBT, _AfxCbtFilterHook, NULL, ::GetCurrentThreadId());
        if (pState->m_hHookOldCbtFilter == NULL) AfxThrowMemoryException();
    }
    pState->m_pWndInit = pWnd;
}

BOOL AFXAPI AfxUnhookWindowCreate() {
    _AFX_THREAD_STATE* pState = AfxGetThreadState();
    if (pState->m_pWndInit != NULL) {
        pState->m_pWndInit = NULL;
        return FALSE;  // never consumed: no window was created
    }
    return TRUE;
}

// ---- window classes ---------------------------------------------------------------------

BOOL AFXAPI AfxDeferRegisterClass(LONG fToRegister) {
    static thread_local LONG s_registered = 0;
    fToRegister &= ~s_registered;
    if (fToRegister == 0) return TRUE;
    LONG fRegistered = 0;
    WNDCLASSA wc;
    ZeroMemory(&wc, sizeof(wc));
    wc.lpfnWndProc = ::DefWindowProcA;
    wc.hInstance = AfxGetInstanceHandle();
    wc.hCursor = ::LoadCursorA(NULL, IDC_ARROW);
    if (fToRegister & AFX_WND_REG) {
        wc.style = CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
        wc.lpszClassName = _afxWnd;
        if (AfxRegisterClass(&wc)) fRegistered |= AFX_WND_REG;
    }
    if (fToRegister & AFX_WNDCONTROLBAR_REG) {
        wc.style = CS_DBLCLKS;
        wc.hbrBackground = (HBRUSH)(COLOR_BTNFACE + 1);
        wc.lpszClassName = _afxWndControlBar;
        if (AfxRegisterClass(&wc)) fRegistered |= AFX_WNDCONTROLBAR_REG;
        wc.hbrBackground = NULL;
    }
    if (fToRegister & (AFX_WNDFRAMEORVIEW_REG | AFX_WNDMDIFRAME_REG)) {
        wc.style = CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
        wc.hbrBackground = (HBRUSH)(COLOR_WINDOW + 1);
        wc.hIcon = ::LoadIconA(NULL, IDI_APPLICATION);
        wc.lpszClassName = _afxWndFrameOrView;
        if (AfxRegisterClass(&wc)) fRegistered |= (fToRegister & (AFX_WNDFRAMEORVIEW_REG | AFX_WNDMDIFRAME_REG));
        wc.hbrBackground = NULL;
        wc.hIcon = NULL;
    }
    LONG fCtl = fToRegister & (AFX_WNDCOMMCTLS_REG | AFX_WNDCOMMCTLSALL_REG | AFX_WNDCOMMCTL_UPDOWN_REG);
    if (fCtl) {
        INITCOMMONCONTROLSEX icc;
        icc.dwSize = sizeof(icc);
        icc.dwICC = ICC_WIN95_CLASSES | ICC_DATE_CLASSES | ICC_USEREX_CLASSES | ICC_COOL_CLASSES |
                    ICC_INTERNET_CLASSES | ICC_PAGESCROLLER_CLASS | ICC_NATIVEFNTCTL_CLASS | ICC_STANDARD_CLASSES |
                    ICC_LINK_CLASS;
        if (::InitCommonControlsEx(&icc)) fRegistered |= fCtl;
    }
    if (fToRegister & AFX_WNDOLECONTROL_REG) fRegistered |= AFX_WNDOLECONTROL_REG;  // nothing to register
    s_registered |= fRegistered;
    return (fToRegister & ~fRegistered) == 0;
}

// ---- creation --------------------------------------------------------------------------

BOOL CWnd::PreCreateWindow(CREATESTRUCT& cs) {
    if (cs.lpszClass == NULL) {
        if (!AfxDeferRegisterClass(AFX_WND_REG)) return FALSE;
        cs.lpszClass = _afxWnd;
    }
    return TRUE;
}

BOOL CWnd::CreateEx(DWORD dwExStyle, LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, int x, int y,
                    int nWidth, int nHeight, HWND hWndParent, HMENU nIDorHMenu, LPVOID lpParam) {
    CREATESTRUCTA cs;
    cs.dwExStyle = dwExStyle;
    cs.lpszClass = lpszClassName;
    cs.lpszName = lpszWindowName;
    cs.style = (LONG)dwStyle;
    cs.x = x;
    cs.y = y;
    cs.cx = nWidth;
    cs.cy = nHeight;
    cs.hwndParent = hWndParent;
    cs.hMenu = nIDorHMenu;
    cs.hInstance = AfxGetInstanceHandle();
    cs.lpCreateParams = lpParam;

    if (!PreCreateWindow(cs)) {
        PostNcDestroy();
        return FALSE;
    }
    AfxHookWindowCreate(this);
    HWND hWnd = ::CreateWindowExA(cs.dwExStyle, cs.lpszClass, cs.lpszName, (DWORD)cs.style, cs.x, cs.y, cs.cx, cs.cy,
                                  cs.hwndParent, cs.hMenu, cs.hInstance, cs.lpCreateParams);
    // Not consumed: the window was refused before the hook saw it.
    if (!AfxUnhookWindowCreate()) PostNcDestroy();
    if (hWnd == NULL) return FALSE;
    return TRUE;
}

BOOL CWnd::CreateEx(DWORD dwExStyle, LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                    CWnd* pParentWnd, UINT nID, LPVOID lpParam) {
    return CreateEx(dwExStyle, lpszClassName, lpszWindowName, dwStyle, rect.left, rect.top, rect.right - rect.left,
                    rect.bottom - rect.top, pParentWnd->GetSafeHwnd(), (HMENU)(UINT_PTR)nID, lpParam);
}

BOOL CWnd::Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd,
                  UINT nID, CCreateContext* pContext) {
    // A child always: top-level windows are made with CreateEx.
    return CreateEx(0, lpszClassName, lpszWindowName, dwStyle | WS_CHILD, rect.left, rect.top, rect.right - rect.left,
                    rect.bottom - rect.top, pParentWnd->GetSafeHwnd(), (HMENU)(UINT_PTR)nID, pContext);
}

BOOL CWnd::DestroyWindow() {
    if (m_hWnd == NULL) return FALSE;
    HWND hWndOrig = m_hWnd;
    CWnd* pWnd = FromHandlePermanent(m_hWnd);
    BOOL bResult = ::DestroyWindow(m_hWnd);
    // A permanent object was detached by WM_NCDESTROY (and may have deleted itself);
    // a temporary or unbound one is detached here.
    if (pWnd == NULL && m_hWnd == hWndOrig) Detach();
    return bResult;
}

void CWnd::PostNcDestroy() {}

void CWnd::PreSubclassWindow() {}

BOOL CWnd::SubclassWindow(HWND hWnd) {
    if (hWnd == NULL || !::IsWindow(hWnd)) return FALSE;
    CWnd* pExisting = FromHandlePermanent(hWnd);
    if (pExisting != NULL && pExisting != this) return FALSE;  // bound to another object
    if (!Attach(hWnd)) return FALSE;
    PreSubclassWindow();
    WNDPROC* lplpfn = GetSuperWndProcAddr();
    WNDPROC oldWndProc = (WNDPROC)::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, (LONG_PTR)AfxGetAfxWndProc());
    if (oldWndProc != AfxGetAfxWndProc() && *lplpfn == NULL) *lplpfn = oldWndProc;
    return TRUE;
}

BOOL CWnd::SubclassDlgItem(UINT nID, CWnd* pParent) {
    if (pParent == NULL) return FALSE;
    HWND hWndControl = ::GetDlgItem(pParent->m_hWnd, (int)nID);
    if (hWndControl != NULL) return SubclassWindow(hWndControl);
    return FALSE;
}

HWND CWnd::UnsubclassWindow() {
    if (m_hWnd == NULL) return NULL;
    WNDPROC* lplpfn = GetSuperWndProcAddr();
    if (*lplpfn != NULL) ::SetWindowLongPtrA(m_hWnd, GWLP_WNDPROC, (LONG_PTR)*lplpfn);
    *lplpfn = NULL;
    return Detach();
}

void CWnd::CalcWindowRect(LPRECT lpClientRect, UINT nAdjustType) {
    DWORD dwExStyle = GetExStyle();
    if (nAdjustType == 0) dwExStyle &= ~WS_EX_CLIENTEDGE;
    ::AdjustWindowRectEx(lpClientRect, GetStyle(), FALSE, dwExStyle);
}

// ---- pre-translation --------------------------------------------------------------------

BOOL CWnd::PreTranslateMessage(MSG* pMsg) {
    // Windows with tooltips enabled relay mouse messages to the thread's tooltip.
    _AFX_THREAD_STATE* pState = AfxGetThreadState();
    UNUSED(pState);
    if (m_nFlags & (WF_TOOLTIPS | WF_TRACKINGTOOLTIPS)) FilterToolTipMessage(pMsg);
    return FALSE;
}

BOOL CWnd::PreTranslateInput(LPMSG lpMsg) {
    // Keyboard and mouse messages to this dialog or its children: dialog navigation.
    if ((lpMsg->message < WM_KEYFIRST || lpMsg->message > WM_KEYLAST) &&
        (lpMsg->message < WM_MOUSEFIRST || lpMsg->message > WM_MOUSELAST))
        return FALSE;
    return IsDialogMessage(lpMsg);
}

BOOL PASCAL CWnd::WalkPreTranslateTree(HWND hWndStop, MSG* pMsg) {
    // From the target window up through its parents, stopping after hWndStop.
    for (HWND hWnd = pMsg->hwnd; hWnd != NULL; hWnd = ::GetParent(hWnd)) {
        CWnd* pWnd = FromHandlePermanent(hWnd);
        if (pWnd != NULL) {
            if (pWnd->PreTranslateMessage(pMsg)) return TRUE;
        }
        if (hWnd == hWndStop) break;
    }
    return FALSE;
}

BOOL CWnd::CheckAutoCenter() { return TRUE; }

namespace {

bool IsDialogBoxWindow(HWND hWnd) { return ::GetClassLongA(hWnd, GCW_ATOM) == (DWORD)(ULONG_PTR)WC_DIALOG; }

// The dialog whose tab order a Tab key pressed in hDlg moves through. A page hosted
// in another dialog through control-parent windows (a page inside a caption bar or a
// tab container) is part of the outermost such dialog's tab order; the system climbs
// only from dialog to dialog, so Tab would stay inside the page. Only Tab climbs: the
// page's other keys (Enter for its own default button, Esc, mnemonics) stay its own.
HWND TabOrderDialog(HWND hDlg, const MSG* pMsg) {
    if (pMsg->message != WM_KEYDOWN || pMsg->wParam != VK_TAB) return hDlg;
    HWND hRoot = hDlg;
    for (HWND hWnd = hDlg; (::GetWindowLongA(hWnd, GWL_STYLE) & WS_CHILD) != 0 &&
                           (::GetWindowLongA(hWnd, GWL_EXSTYLE) & WS_EX_CONTROLPARENT) != 0;) {
        hWnd = ::GetParent(hWnd);
        if (hWnd == NULL) break;
        if (IsDialogBoxWindow(hWnd)) hRoot = hWnd;
    }
    return hRoot;
}

}  // namespace

BOOL CWnd::IsDialogMessage(LPMSG lpMsg) { return ::IsDialogMessageA(TabOrderDialog(m_hWnd, lpMsg), lpMsg); }
