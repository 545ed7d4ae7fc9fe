// The application object: CWinApp with the profile functions (settings under
// HKEY_CURRENT_USER\Software\<registry key>\<profile name>\<section>), message boxes,
// help, icons and the wait cursor, plus the global accessors AfxGetApp and
// AfxGetMainWnd. Without SetRegistryKey the profile functions read and write nothing
// (no .ini file support): the program always sets its key.
#pragma once
#include "framework/platform.h"
#include "framework/winthread.h"
#include "framework/str.h"

class CWinApp : public CWinThread {
    DECLARE_DYNAMIC(CWinApp)
public:
    explicit CWinApp(LPCTSTR lpszAppName = NULL);
    virtual ~CWinApp();

    // Startup data
    HINSTANCE m_hInstance;
    LPTSTR m_lpCmdLine;
    int m_nCmdShow;
    LPCTSTR m_pszAppName;       // title of message boxes; from AFX_IDS_APP_TITLE or the exe name
    LPCTSTR m_pszRegistryKey;   // company key set by SetRegistryKey (NULL: none)
    LPCTSTR m_pszProfileName;   // defaults to the application name
    LPCTSTR m_pszHelpFilePath;
    LPCTSTR m_pszExeName;

    // Profile
    void SetRegistryKey(LPCTSTR lpszRegistryKey);
    void SetRegistryKey(UINT nIDRegistryKey);
    // Key HKCU\Software\<key>\<profile>, created when missing; the caller closes it.
    HKEY GetAppRegistryKey();
    HKEY GetSectionKey(LPCTSTR lpszSection);
    virtual UINT GetProfileInt(LPCTSTR lpszSection, LPCTSTR lpszEntry, int nDefault);
    virtual BOOL WriteProfileInt(LPCTSTR lpszSection, LPCTSTR lpszEntry, int nValue);
    virtual CString GetProfileString(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPCTSTR lpszDefault = NULL);
    virtual BOOL WriteProfileString(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPCTSTR lpszValue);
    virtual BOOL GetProfileBinary(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPBYTE* ppData, UINT* pBytes);
    virtual BOOL WriteProfileBinary(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPBYTE pData, UINT nBytes);

    // The most recently used files; NULL until LoadStdProfileSettings makes it.
    class CRecentFileList* m_pRecentFileList;
    // Makes the recent-file list of nMaxMRU entries (none for 0) and reads it from the
    // profile section "Recent File List".
    void LoadStdProfileSettings(UINT nMaxMRU = 4);
    virtual void AddToRecentFileList(LPCTSTR lpszPathName);

    // Overridables
    virtual BOOL InitApplication();
    BOOL InitInstance() override;
    int ExitInstance() override;
    int Run() override;
    BOOL OnIdle(LONG lCount) override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    BOOL ProcessMessageFilter(int code, LPMSG lpMsg) override;
    // Besides the thread's handling, tells the user of a failure (not of a
    // CUserException, whose thrower has told already) through AfxMessageBox; a failed
    // command counts as handled.
    LRESULT ProcessWndProcException(CException* e, const MSG* pMsg) override;
    virtual int DoMessageBox(LPCTSTR lpszPrompt, UINT nType, UINT nIDPrompt);
    virtual void DoWaitCursor(int nCode);   // 1 begin, -1 end, 0 restore
    virtual void WinHelp(DWORD_PTR dwData, UINT nCmd = HELP_CONTEXT);
    virtual void HtmlHelp(DWORD_PTR dwData, UINT nCmd = 0x000F /*HH_HELP_CONTEXT*/);

    // Icons and cursors
    HICON LoadIcon(LPCTSTR lpszResourceName) const;
    HICON LoadIcon(UINT nIDResource) const;
    HICON LoadStandardIcon(LPCTSTR lpszIconName) const;
    HCURSOR LoadCursor(LPCTSTR lpszResourceName) const;
    HCURSOR LoadCursor(UINT nIDResource) const;
    HCURSOR LoadStandardCursor(LPCTSTR lpszCursorName) const;

    // Command handlers
    afx_msg void OnAppExit();
    afx_msg void OnHelp();

    int m_nWaitCursorCount;
    HCURSOR m_hcurWaitCursorRestore;

protected:
    DECLARE_MESSAGE_MAP()

private:
    // An application object made while another exists (tests make short-lived ones)
    // stands in for it until it goes, then the earlier one is current again.
    CWinApp* m_pPrevApp;
    CWinThread* m_pPrevThread;
};

CWinApp* AFXAPI AfxGetApp();
CWnd* AFXAPI AfxGetMainWnd();
LPCTSTR AFXAPI AfxGetAppName();

// Message boxes through the application's DoMessageBox: its title is the caption.
int AFXAPI AfxMessageBox(LPCTSTR lpszText, UINT nType = MB_OK, UINT nIDHelp = 0);
int AFXAPI AfxMessageBox(UINT nIDPrompt, UINT nType = MB_OK, UINT nIDHelp = (UINT)-1);

// Window classes
BOOL AFXAPI AfxRegisterClass(WNDCLASS* lpWndClass);
LPCTSTR AFXAPI AfxRegisterWndClass(UINT nClassStyle, HCURSOR hCursor = NULL, HBRUSH hbrBackground = NULL,
                                   HICON hIcon = NULL);
