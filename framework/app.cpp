// CWinApp: start-up data, the registry profile, message boxes, help, icons and the
// wait cursor.
#include "framework/app.h"
#include "framework/recentfilelist.h"
#include "framework/wnd.h"
#include "framework/resources.h"
#include "framework/afxres.h"
#include "framework/exceptions.h"
#include <stdlib.h>
#include <string.h>
#include <vector>

IMPLEMENT_DYNAMIC(CWinApp, CWinThread)

BEGIN_MESSAGE_MAP(CWinApp, CWinThread)
    ON_COMMAND(ID_APP_EXIT, &CWinApp::OnAppExit)
END_MESSAGE_MAP()

namespace {

LPTSTR DupString(LPCTSTR s) { return s ? _strdup(s) : nullptr; }

void FreeString(LPCTSTR& s) {
    free(const_cast<LPTSTR>(s));
    s = nullptr;
}

}  // namespace

CWinApp::CWinApp(LPCTSTR lpszAppName)
    : m_hInstance(NULL),
      m_lpCmdLine(NULL),
      m_nCmdShow(SW_SHOWNORMAL),
      m_pszAppName(NULL),
      m_pszRegistryKey(NULL),
      m_pszProfileName(NULL),
      m_pszHelpFilePath(NULL),
      m_pszExeName(NULL),
      m_pRecentFileList(NULL),
      m_nWaitCursorCount(0),
      m_hcurWaitCursorRestore(NULL) {
    AFX_MODULE_STATE* pModuleState = AfxGetModuleState();
    m_pPrevApp = pModuleState->m_pCurrentWinApp;
    pModuleState->m_pCurrentWinApp = this;
    _AFX_THREAD_STATE* pThreadState = AfxGetThreadState();
    m_pPrevThread = pThreadState->m_pCurrentWinThread;
    pThreadState->m_pCurrentWinThread = this;
    m_hThread = ::GetCurrentThread();
    m_nThreadID = ::GetCurrentThreadId();

    // The handles and names are known as soon as the object exists (the classic library
    // fills them in AfxWinInit); tests build an application object without WinMain.
    m_hInstance = ::GetModuleHandle(NULL);
    if (lpszAppName != NULL) m_pszAppName = DupString(lpszAppName);

    char path[MAX_PATH] = {0};
    ::GetModuleFileNameA(m_hInstance, path, MAX_PATH);
    char* base = strrchr(path, '\\');
    base = base ? base + 1 : path;
    char* dot = strrchr(base, '.');
    if (dot) *dot = '\0';
    m_pszExeName = DupString(base);
    {
        // Help lives next to the program: <exe>.chm.
        char help[MAX_PATH + 8] = {0};
        ::GetModuleFileNameA(m_hInstance, help, MAX_PATH);
        char* ext = strrchr(help, '.');
        char* slash = strrchr(help, '\\');
        if (ext != NULL && (slash == NULL || ext > slash)) *ext = '\0';
        lstrcatA(help, ".chm");
        m_pszHelpFilePath = DupString(help);
    }
    if (m_pszAppName == NULL) {
        char title[256];
        if (::LoadStringA(m_hInstance, AFX_IDS_APP_TITLE, title, sizeof(title)) > 0)
            m_pszAppName = DupString(title);
        else
            m_pszAppName = DupString(m_pszExeName);
    }
    pModuleState->m_lpszCurrentAppName = m_pszAppName;
    AfxInstallMessageFilterHook();
}

CWinApp::~CWinApp() {
    AFX_MODULE_STATE* pModuleState = AfxGetModuleState();
    if (pModuleState->m_pCurrentWinApp == this) {
        pModuleState->m_pCurrentWinApp = m_pPrevApp;
        pModuleState->m_lpszCurrentAppName = m_pPrevApp ? m_pPrevApp->m_pszAppName : NULL;
    }
    _AFX_THREAD_STATE* pThreadState = AfxGetThreadState();
    if (pThreadState->m_pCurrentWinThread == this) pThreadState->m_pCurrentWinThread = m_pPrevThread;
    // Owned heap copies: callers replace them the classic way (free, then _tcsdup).
    FreeString(m_pszAppName);
    FreeString(m_pszRegistryKey);
    FreeString(m_pszProfileName);
    FreeString(m_pszHelpFilePath);
    FreeString(m_pszExeName);
    delete m_pRecentFileList;
}

void CWinApp::LoadStdProfileSettings(UINT nMaxMRU) {
    if (nMaxMRU == 0 || m_pRecentFileList != NULL) return;
    m_pRecentFileList = new CRecentFileList(0, _T("Recent File List"), _T("File%d"), (int)nMaxMRU);
    m_pRecentFileList->ReadList();
}

void CWinApp::AddToRecentFileList(LPCTSTR lpszPathName) {
    if (m_pRecentFileList != NULL) m_pRecentFileList->Add(lpszPathName);
}

CWinApp* AFXAPI AfxGetApp() { return AfxGetModuleState()->m_pCurrentWinApp; }

LPCTSTR AFXAPI AfxGetAppName() {
    CWinApp* pApp = AfxGetApp();
    return pApp ? pApp->m_pszAppName : "";
}

CWnd* AFXAPI AfxGetMainWnd() {
    CWinThread* pThread = AfxGetThread();
    return pThread != NULL ? pThread->GetMainWnd() : NULL;
}

BOOL CWinApp::InitApplication() { return TRUE; }
BOOL CWinApp::InitInstance() { return TRUE; }

int CWinApp::ExitInstance() {
    MSG* pMsg = AfxGetCurrentMessage();
    return pMsg ? (int)pMsg->wParam : 0;
}

int CWinApp::Run() {
    // Nothing to run a loop for: end at once, as the classic library does.
    if (m_pMainWnd == NULL) ::PostQuitMessage(0);
    return CWinThread::Run();
}

BOOL CWinApp::OnIdle(LONG lCount) { return CWinThread::OnIdle(lCount); }

BOOL CWinApp::PreTranslateMessage(MSG* pMsg) { return CWinThread::PreTranslateMessage(pMsg); }

BOOL CWinApp::ProcessMessageFilter(int code, LPMSG lpMsg) { return CWinThread::ProcessMessageFilter(code, lpMsg); }

// ---- profile --------------------------------------------------------------------------

void CWinApp::SetRegistryKey(LPCTSTR lpszRegistryKey) {
    FreeString(m_pszRegistryKey);
    m_pszRegistryKey = DupString(lpszRegistryKey);
    FreeString(m_pszProfileName);
    m_pszProfileName = DupString(m_pszAppName);
}

void CWinApp::SetRegistryKey(UINT nIDRegistryKey) {
    char buf[256];
    if (::LoadStringA(AfxGetResourceHandle(), nIDRegistryKey, buf, sizeof(buf)) <= 0) buf[0] = '\0';
    SetRegistryKey(buf);
}

HKEY CWinApp::GetAppRegistryKey() {
    if (m_pszRegistryKey == NULL || m_pszProfileName == NULL) return NULL;
    HKEY hAppKey = NULL, hSoftKey = NULL, hCompanyKey = NULL;
    DWORD dw;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, "software", 0, KEY_WRITE | KEY_READ, &hSoftKey) == ERROR_SUCCESS) {
        if (::RegCreateKeyExA(hSoftKey, m_pszRegistryKey, 0, NULL, REG_OPTION_NON_VOLATILE, KEY_WRITE | KEY_READ,
                              NULL, &hCompanyKey, &dw) == ERROR_SUCCESS) {
            if (::RegCreateKeyExA(hCompanyKey, m_pszProfileName, 0, NULL, REG_OPTION_NON_VOLATILE,
                                  KEY_WRITE | KEY_READ, NULL, &hAppKey, &dw) != ERROR_SUCCESS)
                hAppKey = NULL;
        }
    }
    if (hSoftKey != NULL) ::RegCloseKey(hSoftKey);
    if (hCompanyKey != NULL) ::RegCloseKey(hCompanyKey);
    return hAppKey;
}

HKEY CWinApp::GetSectionKey(LPCTSTR lpszSection) {
    if (lpszSection == NULL) return NULL;
    HKEY hAppKey = GetAppRegistryKey();
    if (hAppKey == NULL) return NULL;
    HKEY hSectionKey = NULL;
    DWORD dw;
    if (::RegCreateKeyExA(hAppKey, lpszSection, 0, NULL, REG_OPTION_NON_VOLATILE, KEY_WRITE | KEY_READ, NULL,
                          &hSectionKey, &dw) != ERROR_SUCCESS)
        hSectionKey = NULL;
    ::RegCloseKey(hAppKey);
    return hSectionKey;
}

UINT CWinApp::GetProfileInt(LPCTSTR lpszSection, LPCTSTR lpszEntry, int nDefault) {
    if (lpszEntry == NULL) return (UINT)nDefault;
    HKEY hSecKey = GetSectionKey(lpszSection);
    if (hSecKey == NULL) return (UINT)nDefault;
    DWORD dwValue = 0, dwType = 0, dwCount = sizeof(DWORD);
    LONG lResult = ::RegQueryValueExA(hSecKey, lpszEntry, NULL, &dwType, (LPBYTE)&dwValue, &dwCount);
    ::RegCloseKey(hSecKey);
    // Only a genuine 4-byte REG_DWORD counts; anything else reads as the default.
    if (lResult == ERROR_SUCCESS && dwType == REG_DWORD && dwCount == sizeof(DWORD)) return (UINT)dwValue;
    return (UINT)nDefault;
}

BOOL CWinApp::WriteProfileInt(LPCTSTR lpszSection, LPCTSTR lpszEntry, int nValue) {
    if (lpszEntry == NULL) return FALSE;
    HKEY hSecKey = GetSectionKey(lpszSection);
    if (hSecKey == NULL) return FALSE;
    DWORD dw = (DWORD)nValue;
    LONG lResult = ::RegSetValueExA(hSecKey, lpszEntry, 0, REG_DWORD, (const BYTE*)&dw, sizeof(dw));
    ::RegCloseKey(hSecKey);
    return lResult == ERROR_SUCCESS;
}

CString CWinApp::GetProfileString(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPCTSTR lpszDefault) {
    CString strDefault(lpszDefault != NULL ? lpszDefault : "");
    if (lpszEntry == NULL) return strDefault;
    HKEY hSecKey = GetSectionKey(lpszSection);
    if (hSecKey == NULL) return strDefault;
    CString strValue;
    DWORD dwType = 0, dwCount = 0;
    LONG lResult = ::RegQueryValueExA(hSecKey, lpszEntry, NULL, &dwType, NULL, &dwCount);
    if (lResult == ERROR_SUCCESS && dwType == REG_SZ) {
        // The stored text need not end in a zero: read into a buffer one byte longer.
        std::vector<char> buf(dwCount + 1, '\0');
        DWORD dwRead = dwCount;
        lResult = ::RegQueryValueExA(hSecKey, lpszEntry, NULL, &dwType, (LPBYTE)buf.data(), &dwRead);
        if (lResult == ERROR_SUCCESS && dwType == REG_SZ && dwRead <= dwCount) {
            buf[dwRead] = '\0';
            strValue = buf.data();
        } else {
            lResult = ERROR_INVALID_DATA;
        }
    }
    ::RegCloseKey(hSecKey);
    if (lResult == ERROR_SUCCESS && dwType == REG_SZ) return strValue;
    return strDefault;
}

BOOL CWinApp::WriteProfileString(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPCTSTR lpszValue) {
    if (lpszSection == NULL) return FALSE;
    LONG lResult;
    if (lpszEntry == NULL) {
        // No entry: the whole section goes.
        HKEY hAppKey = GetAppRegistryKey();
        if (hAppKey == NULL) return FALSE;
        lResult = ::RegDeleteKeyA(hAppKey, lpszSection);
        ::RegCloseKey(hAppKey);
    } else if (lpszValue == NULL) {
        HKEY hSecKey = GetSectionKey(lpszSection);
        if (hSecKey == NULL) return FALSE;
        lResult = ::RegDeleteValueA(hSecKey, lpszEntry);
        ::RegCloseKey(hSecKey);
    } else {
        HKEY hSecKey = GetSectionKey(lpszSection);
        if (hSecKey == NULL) return FALSE;
        lResult = ::RegSetValueExA(hSecKey, lpszEntry, 0, REG_SZ, (const BYTE*)lpszValue,
                                   (DWORD)(strlen(lpszValue) + 1));
        ::RegCloseKey(hSecKey);
    }
    return lResult == ERROR_SUCCESS;
}

BOOL CWinApp::GetProfileBinary(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPBYTE* ppData, UINT* pBytes) {
    if (ppData == NULL || pBytes == NULL) return FALSE;
    *ppData = NULL;
    *pBytes = 0;
    if (lpszEntry == NULL) return FALSE;
    HKEY hSecKey = GetSectionKey(lpszSection);
    if (hSecKey == NULL) return FALSE;
    DWORD dwType = 0, dwCount = 0;
    LONG lResult = ::RegQueryValueExA(hSecKey, lpszEntry, NULL, &dwType, NULL, &dwCount);
    BOOL bOk = FALSE;
    if (lResult == ERROR_SUCCESS && dwType == REG_BINARY) {
        BYTE* p = new BYTE[dwCount ? dwCount : 1];
        DWORD dwRead = dwCount;
        lResult = ::RegQueryValueExA(hSecKey, lpszEntry, NULL, &dwType, p, &dwRead);
        if (lResult == ERROR_SUCCESS && dwType == REG_BINARY && dwRead <= dwCount) {
            *ppData = p;
            *pBytes = dwRead;
            bOk = TRUE;
        } else {
            delete[] p;
        }
    }
    ::RegCloseKey(hSecKey);
    return bOk;
}

BOOL CWinApp::WriteProfileBinary(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPBYTE pData, UINT nBytes) {
    if (lpszEntry == NULL) return FALSE;
    HKEY hSecKey = GetSectionKey(lpszSection);
    if (hSecKey == NULL) return FALSE;
    LONG lResult = ::RegSetValueExA(hSecKey, lpszEntry, 0, REG_BINARY, pData, nBytes);
    ::RegCloseKey(hSecKey);
    return lResult == ERROR_SUCCESS;
}

// ---- message boxes --------------------------------------------------------------------

namespace {

int DoAppMessageBox(LPCTSTR lpszPrompt, UINT nType, LPCTSTR lpszCaption) {
    // Owner: the main window's last active popup, so the box stays over whatever the
    // user is looking at. The main window's top-level window is disabled too while the
    // box is up when the box does not own it (a modeless popup is the owner), so that
    // the whole application waits for the answer.
    HWND hWndTop = NULL;
    HWND hWndOwner = CWnd::GetSafeOwner_(NULL, &hWndTop);
    if (hWndOwner == NULL) hWndOwner = ::GetActiveWindow();
    if (hWndOwner != NULL && hWndOwner != hWndTop && !::IsWindowEnabled(hWndOwner)) hWndOwner = NULL;

    if ((nType & MB_ICONMASK) == 0) {
        switch (nType & MB_TYPEMASK) {
        case MB_OK:
        case MB_OKCANCEL:
            nType |= MB_ICONEXCLAMATION;
            break;
        case MB_YESNO:
        case MB_YESNOCANCEL:
            nType |= MB_ICONQUESTION;
            break;
        default:
            break;
        }
    }
    int nResult = ::MessageBoxA(hWndOwner, lpszPrompt, lpszCaption, nType);
    if (hWndTop != NULL) ::EnableWindow(hWndTop, TRUE);
    return nResult;
}

}  // namespace

LRESULT CWinApp::ProcessWndProcException(CException* e, const MSG* pMsg) {
    if (pMsg == NULL || pMsg->message == WM_CREATE || pMsg->message == WM_PAINT)
        return CWinThread::ProcessWndProcException(e, pMsg);
    UINT nIDP = AFX_IDP_INTERNAL_FAILURE;
    LRESULT lResult = 0;
    if (pMsg->message == WM_COMMAND) {
        if ((HWND)pMsg->lParam == NULL) nIDP = AFX_IDP_COMMAND_FAILURE;  // a menu command or accelerator
        lResult = TRUE;  // handled, so that nobody else runs it again
    }
    if (e != NULL && !e->IsKindOf(RUNTIME_CLASS(CUserException))) {
        // The exception's own text, else the framework's prompt for the case.
        char szMessage[512];
        CString strMessage;
        if (e->GetErrorMessage(szMessage, sizeof(szMessage))) strMessage = szMessage;
        if (strMessage.IsEmpty() && !strMessage.LoadString(nIDP))
            strMessage = nIDP == AFX_IDP_COMMAND_FAILURE ? "Command failed." : "Internal application error.";
        UINT nType = e->IsKindOf(RUNTIME_CLASS(CMemoryException)) ? (MB_ICONEXCLAMATION | MB_SYSTEMMODAL) : MB_ICONSTOP;
        AfxMessageBox(strMessage, nType, nIDP);
    }
    return lResult;
}

int CWinApp::DoMessageBox(LPCTSTR lpszPrompt, UINT nType, UINT nIDPrompt) {
    UNUSED(nIDPrompt);
    return DoAppMessageBox(lpszPrompt, nType, m_pszAppName);
}

int AFXAPI AfxMessageBox(LPCTSTR lpszText, UINT nType, UINT nIDHelp) {
    CWinApp* pApp = AfxGetApp();
    if (pApp != NULL) return pApp->DoMessageBox(lpszText, nType, nIDHelp);
    return DoAppMessageBox(lpszText, nType, NULL);
}

int AFXAPI AfxMessageBox(UINT nIDPrompt, UINT nType, UINT nIDHelp) {
    CString string;
    if (!string.LoadString(nIDPrompt)) string.Empty();
    if (nIDHelp == (UINT)-1) nIDHelp = nIDPrompt;
    return AfxMessageBox(string, nType, nIDHelp);
}

// ---- help -----------------------------------------------------------------------------

void CWinApp::WinHelp(DWORD_PTR dwData, UINT nCmd) {
    // WinHelp is gone from current systems; the program's help is HTML help.
    HtmlHelp(dwData, nCmd == HELP_CONTEXT ? 0x000F : 0x0001);
}

void CWinApp::HtmlHelp(DWORD_PTR dwData, UINT nCmd) {
    typedef HWND(WINAPI * PFN_HTMLHELPA)(HWND, LPCSTR, UINT, DWORD_PTR);
    static HMODULE s_hHelp = NULL;
    static PFN_HTMLHELPA s_pfn = NULL;
    if (s_hHelp == NULL) {
        s_hHelp = ::LoadLibraryA("hhctrl.ocx");
        if (s_hHelp != NULL) s_pfn = (PFN_HTMLHELPA)(void*)::GetProcAddress(s_hHelp, "HtmlHelpA");
    }
    if (s_pfn == NULL) return;
    CWnd* pMainWnd = AfxGetMainWnd();
    s_pfn(pMainWnd ? pMainWnd->GetSafeHwnd() : NULL, m_pszHelpFilePath, nCmd, dwData);
}

void CWinApp::OnHelp() {
    // Help for whatever has the user's attention: the window tracking the mouse, then
    // the one with the focus, then the main window's active popup; each asks its
    // parents and owners in turn (WM_COMMANDHELP answers TRUE when it helped).
    CWnd* pMainWnd = AfxGetMainWnd();
    HWND hStarts[3] = {::GetCapture(), ::GetFocus(),
                       pMainWnd != NULL ? ::GetLastActivePopup(pMainWnd->GetSafeHwnd()) : ::GetActiveWindow()};
    for (HWND hWnd : hStarts) {
        for (; hWnd != NULL; hWnd = AfxGetParentOwnerHwnd(hWnd))
            if (::SendMessageA(hWnd, WM_COMMANDHELP, 0, 0)) return;
    }
    HtmlHelp(0, 0x0001 /*HH_DISPLAY_TOC*/);
}

void CWinApp::OnAppExit() {
    if (m_pMainWnd != NULL) m_pMainWnd->SendMessage(WM_CLOSE);
}

// ---- icons, cursors, wait cursor ------------------------------------------------------

HICON CWinApp::LoadIcon(LPCTSTR lpszResourceName) const {
    return ::LoadIconA(AfxFindResourceHandle(lpszResourceName, (LPCSTR)RT_GROUP_ICON), lpszResourceName);
}
HICON CWinApp::LoadIcon(UINT nIDResource) const { return LoadIcon(MAKEINTRESOURCEA(nIDResource)); }
HICON CWinApp::LoadStandardIcon(LPCTSTR lpszIconName) const { return ::LoadIconA(NULL, lpszIconName); }
HCURSOR CWinApp::LoadCursor(LPCTSTR lpszResourceName) const {
    return ::LoadCursorA(AfxFindResourceHandle(lpszResourceName, (LPCSTR)RT_GROUP_CURSOR), lpszResourceName);
}
HCURSOR CWinApp::LoadCursor(UINT nIDResource) const { return LoadCursor(MAKEINTRESOURCEA(nIDResource)); }
HCURSOR CWinApp::LoadStandardCursor(LPCTSTR lpszCursorName) const { return ::LoadCursorA(NULL, lpszCursorName); }

void CWinApp::DoWaitCursor(int nCode) {
    m_nWaitCursorCount += nCode;
    if (m_nWaitCursorCount > 0) {
        HCURSOR hcurPrev = ::SetCursor(::LoadCursorA(NULL, IDC_WAIT));
        if (nCode > 0 && m_nWaitCursorCount == 1) m_hcurWaitCursorRestore = hcurPrev;
    } else {
        m_nWaitCursorCount = 0;
        ::SetCursor(m_hcurWaitCursorRestore);
    }
}

// ---- window classes -------------------------------------------------------------------

BOOL AFXAPI AfxRegisterClass(WNDCLASS* lpWndClass) {
    WNDCLASSA wndcls;
    if (::GetClassInfoA(lpWndClass->hInstance, lpWndClass->lpszClassName, &wndcls)) return TRUE;
    return ::RegisterClassA(lpWndClass) != 0;
}

LPCTSTR AFXAPI AfxRegisterWndClass(UINT nClassStyle, HCURSOR hCursor, HBRUSH hbrBackground, HICON hIcon) {
    // One name per combination, kept for the life of the process (the classic "Afx:..."
    // names); the strings are never freed because callers keep the pointer.
    static thread_local char s_szName[96];
    HINSTANCE hInst = AfxGetInstanceHandle();
    if (hCursor == NULL && hbrBackground == NULL && hIcon == NULL)
        wsprintfA(s_szName, "Afx:%p:%x", (void*)hInst, nClassStyle);
    else
        wsprintfA(s_szName, "Afx:%p:%x:%p:%p:%p", (void*)hInst, nClassStyle, (void*)hCursor, (void*)hbrBackground,
                  (void*)hIcon);
    WNDCLASSA wc;
    if (::GetClassInfoA(hInst, s_szName, &wc)) return s_szName;
    memset(&wc, 0, sizeof(wc));
    wc.style = nClassStyle;
    wc.lpfnWndProc = ::DefWindowProcA;
    wc.hInstance = hInst;
    wc.hIcon = hIcon;
    wc.hCursor = hCursor;
    wc.hbrBackground = hbrBackground;
    wc.lpszClassName = s_szName;
    if (!AfxRegisterClass(&wc)) return NULL;
    return s_szName;
}
