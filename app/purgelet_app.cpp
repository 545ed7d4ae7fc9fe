#include "app/purgelet_app.h"
#include "app/purgelet_dlg.h"
#include "app/input_rule.h"
#include "toolkit/bars/control_bar.h"
#include "toolkit/core/cmd_manager.h"
#include "toolkit/theme/paint_manager.h"
#include "toolkit/menus/popup_base_wnd.h"
#include "toolkit/menus/popup_menu_wnd.h"
#include <shlobj.h>
#include <shellapi.h>
#include <algorithm>
#include <string.h>
#include <vector>

const char* const g_szPurgeletProfileName = "Purgelet-command-manager-profile";
HANDLE g_hPurgeletMutex = NULL;

BEGIN_MESSAGE_MAP(CPurgeletApp, CWinApp)
    ON_COMMAND(ID_HELP, &CWinApp::OnHelp)
END_MESSAGE_MAP()

CPurgeletApp::CPurgeletApp() : m_pMainDlg(NULL), m_nMainDialogResult(IDCANCEL), m_bRunningCopyHangs(false) {}

CPurgeletApp::~CPurgeletApp() {}

static void SetupPopupMenuOptions()
{
    // Every menu shows all its items at once, plainly, without tips or animation.
    CExtPopupMenuWnd::g_bHideRarelyUsedItems = false;
    CExtPopupMenuWnd::g_bHighlightRarelyUsed = false;
    CExtPopupMenuWnd::g_bShowMenuTips = false;
    CExtPopupMenuWnd::g_bExpandAnimation = false;
    CExtPopupBaseWnd::g_nDefaultAnimation = 0;
    CExtPopupBaseWnd::g_bAnimationAllowed = true;
    CExtPopupMenuWnd::g_bUseWorkArea = true;
}

void SetupToolkit()
{
    g_CommandManager->ProfileSetup(g_szPurgeletProfileName, NULL, NULL);
    g_CurrentPaintManager.InstallPaintManagerByClass(RUNTIME_CLASS(CExtPaintManagerStudio2005));
    SetupPopupMenuOptions();
}

namespace
{
// The mark of a running copy's main window, found by a second start, and of one closing.
const char kMainWindowMark[] = "NimboPurgelet.MainWindow";
const char kClosingMark[] = "NimboPurgelet.Closing";
// The tick count at the main window's last note of work (NoteMainWindowWorking), odd so
// that it is never the property's "none". The clock is the system's, the same in every
// process, so a start reads how long ago the running copy last got on with its work.
const char kWorkingMark[] = "NimboPurgelet.Working";
// The window that notes of work go to: the one marked last, while it is marked.
HWND g_hMarkedMain = NULL;

struct MarkedWindow
{
    const char* mark;
    HWND hWnd;
};

BOOL CALLBACK FindMarkedWindow(HWND hWnd, LPARAM lParam)
{
    MarkedWindow* pFound = (MarkedWindow*)lParam;
    if (::GetPropA(hWnd, pFound->mark) == NULL) return TRUE;
    pFound->hWnd = hWnd;
    return FALSE;
}

HWND FindWindowMarked(const char* mark)
{
    MarkedWindow found = {mark, NULL};
    ::EnumWindows(FindMarkedWindow, (LPARAM)&found);
    return found.hWnd;
}
}  // namespace

void MarkMainWindow(HWND hWnd, bool bMark)
{
    // A property is removed before its window goes, as the system asks.
    if (bMark) {
        ::SetPropA(hWnd, kMainWindowMark, (HANDLE)1);
        ::InterlockedExchangePointer((PVOID*)&g_hMarkedMain, hWnd);
    } else {
        ::RemovePropA(hWnd, kMainWindowMark);
        ::RemovePropA(hWnd, kWorkingMark);
        ::InterlockedCompareExchangePointer((PVOID*)&g_hMarkedMain, NULL, hWnd);
    }
}

namespace
{
// The main window marked now, as the notes' thread reads it too.
HWND MarkedMain() { return (HWND)::InterlockedCompareExchangePointer((PVOID*)&g_hMarkedMain, NULL, NULL); }

void NoteWorkNow(DWORD dwNow)
{
    const HWND hMain = MarkedMain();
    if (hMain != NULL) ::SetPropA(hMain, kWorkingMark, (HANDLE)(ULONG_PTR)(dwNow | 1));
}
}  // namespace

void NoteMainWindowWorking()
{
    // The step keeps a loop of thousands of rows to a few calls to the system a second.
    static DWORD s_dwNoted = 0;
    static bool s_bNoted = false;
    if (MarkedMain() == NULL) return;
    const DWORD dwNow = ::GetTickCount();
    if (s_bNoted && dwNow - s_dwNoted < kWorkBeatStep) return;
    // The tick itself: the property's odd value is the property's affair alone.
    s_dwNoted = dwNow;
    s_bNoted = true;
    NoteWorkNow(dwNow);
}

CWorkNotedMeanwhile::CWorkNotedMeanwhile()
    : m_hDone(::CreateEventA(NULL, TRUE, FALSE, NULL)), m_hThread(NULL), m_dwStart(::GetTickCount())
{
    // Without a thread the work goes on all the same, unnoted.
    // It only waits and notes: a small stack, not the process's default megabyte.
    if (m_hDone != NULL && MarkedMain() != NULL)
        m_hThread = ::CreateThread(NULL, 64 * 1024, Beat, this, STACK_SIZE_PARAM_IS_A_RESERVATION, NULL);
    // The work is noted from its first moment, not a step later.
    if (m_hThread != NULL) NoteWorkNow(m_dwStart);
}

CWorkNotedMeanwhile::~CWorkNotedMeanwhile()
{
    if (m_hThread != NULL) {
        ::SetEvent(m_hDone);
        ::WaitForSingleObject(m_hThread, INFINITE);
        ::CloseHandle(m_hThread);
    }
    if (m_hDone != NULL) ::CloseHandle(m_hDone);
}

DWORD WINAPI CWorkNotedMeanwhile::Beat(LPVOID pThis)
{
    const CWorkNotedMeanwhile* p = (const CWorkNotedMeanwhile*)pThis;
    while (::WaitForSingleObject(p->m_hDone, kWorkBeatStep) == WAIT_TIMEOUT) {
        const DWORD dwNow = ::GetTickCount();
        if (dwNow - p->m_dwStart >= kRunningCopyPatience) break;
        NoteWorkNow(dwNow);
    }
    return 0;
}

void MarkMainWindowClosing(HWND hWnd, bool bClosing)
{
    if (bClosing) {
        ::RemovePropA(hWnd, kMainWindowMark);
        ::SetPropA(hWnd, kClosingMark, (HANDLE)1);
    } else {
        ::RemovePropA(hWnd, kClosingMark);
    }
}

HWND FindRunningMainWindow() { return FindWindowMarked(kMainWindowMark); }

const UINT g_nMsgStaysUp = ::RegisterWindowMessageA("NimboPurgelet.StaysUp");

LRESULT StaysUpAnswer(HWND hMain, bool bCloseAsked)
{
    // A window no longer marked as the running copy's is closing: the start found it before
    // its close was decided. Input waiting in the queue was made before the start asked:
    // it is handled before the start could bring this window up, and if it closes the
    // window the start must run.
    if (bCloseAsked || ::GetPropA(hMain, kMainWindowMark) == NULL) return kMayClose;
    return HIWORD(::GetQueueStatus(QS_MOUSEBUTTON | QS_KEY)) != 0 ? kMayClose : kStaysUp;
}

HWND FindClosingMainWindow() { return FindWindowMarked(kClosingMark); }

namespace
{
const char kInstanceMutexName[] = "Mutex_NimboPurgelet";

// The running copy's main window once the user can see it, or the box it shows while it
// starts (a box its start-up shows before the window appears), else NULL.
HWND FindShownMainWindow()
{
    HWND hMain = FindRunningMainWindow();
    if (hMain == NULL) return NULL;
    HWND hPopup = ::GetLastActivePopup(hMain);
    return ::IsWindowVisible(hMain) || (hPopup != hMain && ::IsWindowVisible(hPopup)) ? hMain : NULL;
}

// How long the running copy's main window has noted no work, MAXDWORD when it never did.
DWORD QuietFor(HWND hMain)
{
    const DWORD dwNoted = (DWORD)(ULONG_PTR)::GetPropA(hMain, kWorkingMark);
    if (dwNoted == 0) return MAXDWORD;
    // The note may be a tick ahead of this process's read of the clock.
    const LONG nAgo = (LONG)(::GetTickCount() - dwNoted);
    return nAgo < 0 ? 0 : (DWORD)nAgo;
}

// How often a start that waits for a busy copy's answer looks whether it still works.
const DWORD kAskStep = 1000;

enum class StaysUp
{
    Yes,
    MayClose,  // or the window went meanwhile
    NoAnswer,
};

// Asks the running copy's main window whether it stays up. A copy busy with a box or a
// launched program answers from its message loop, after any input queued before. One at
// work on its own thread (a long list read or sorted) answers once the work is done, and
// notes the work meanwhile: the start waits for it as long as the notes come, since the
// system, which calls any window hung that took no message for five seconds, cannot tell
// it from a dead one. One whose thread is suspended, stopped or stuck neither answers nor
// notes: after kRunningCopyAnswerWait of that silence it is judged not to respond.
StaysUp AskStaysUp(HWND hMain)
{
    const DWORD dwAsked = ::GetTickCount();
    for (;;) {
        const DWORD dwSent = ::GetTickCount();
        DWORD_PTR dwAnswer = 0;
        // Each question the busy copy did not take in time stays in its queue and is answered
        // in turn, before the one asked last.
        if (::SendMessageTimeoutA(hMain, g_nMsgStaysUp, 0, 0, SMTO_NORMAL, kAskStep, &dwAnswer) != 0)
            return dwAnswer == (DWORD_PTR)kMayClose ? StaysUp::MayClose : StaysUp::Yes;
        const DWORD dwError = ::GetLastError();
        if (!::IsWindow(hMain)) return StaysUp::MayClose;
        // A copy under higher rights may not be asked at all: it is brought up as it is.
        if (dwError == ERROR_ACCESS_DENIED) return StaysUp::Yes;
        // Silent since the question, or since its last note of work when that came later.
        const DWORD dwSilent = std::min<DWORD>(::GetTickCount() - dwAsked, QuietFor(hMain));
        if (dwSilent >= kRunningCopyAnswerWait) return StaysUp::NoAnswer;
        const DWORD dwSpent = ::GetTickCount() - dwSent;
        if (dwSpent < kAskStep) ::Sleep(kAskStep - dwSpent);
    }
}
}  // namespace

bool TakeInstanceMutex(HANDLE* phHeldElsewhere)
{
    if (phHeldElsewhere != NULL) *phHeldElsewhere = NULL;
    // Held until the process ends; a program started twice in one process (as the tests
    // do) is still the one copy.
    if (g_hPurgeletMutex != NULL) return true;
    // The name without a prefix lies in the session's own namespace, so each user
    // session runs one copy. The thread that runs the program owns it until the process
    // ends: a second start waits on it and so learns when this copy is gone.
    HANDLE hMutex = ::CreateMutexA(NULL, TRUE, kInstanceMutexName);
    const DWORD dwError = ::GetLastError();
    // Access denied: a copy running under other rights in this session holds it.
    if (hMutex == NULL ? dwError == ERROR_ACCESS_DENIED : dwError == ERROR_ALREADY_EXISTS) {
        if (phHeldElsewhere != NULL)
            *phHeldElsewhere = hMutex;
        else if (hMutex != NULL)
            ::CloseHandle(hMutex);
        return false;
    }
    // A mutex that cannot be made at all must not keep the program from running.
    g_hPurgeletMutex = hMutex;
    return true;
}

// Neither text tells the user to end the running copy: a copy that seems to hang may be
// storing the groups, and ended midway it would lose what the user changed.
std::string RunningCopyHangsText()
{
    return "Nimbo Purgelet is running already, but its window has not shown within two minutes.\r\n\r\n"
           "This start ends. Leave the running copy running: it may be storing your groups. Start the program "
           "again once its window shows.";
}

std::string RunningCopyNotRespondingText()
{
    return "Nimbo Purgelet is running already, but the running copy does not respond: its window has taken no "
           "messages for several seconds.\r\n\r\nThis start ends. Leave the running copy running: it may be "
           "storing your groups. Start the program again once its window responds.";
}

RunningCopyOutcome ShowRunningInstance(HANDLE hHeldElsewhere, DWORD dwPatience)
{
    // The running copy may still be on its way up, or busy with its first refresh before
    // its window shows: this start waits for the window as long as that copy lives.
    HWND hMain = NULL;
    HWND hClosingSeen = NULL;
    StaysUp answer = StaysUp::Yes;
    for (DWORD dwStart = ::GetTickCount();;) {
        // A shown copy is brought up only once it says it stays up: a close the user asked
        // for before this start (a click or key still queued behind its work, a question
        // of its close still open) would otherwise end it after this start ended, and
        // leave no copy running. One that does not answer is not waited for in silence.
        hMain = FindShownMainWindow();
        if (hMain != NULL && ::GetTickCount() - dwStart >= dwPatience) break;
        if (hMain != NULL && (answer = AskStaysUp(hMain)) != StaysUp::MayClose) break;
        // A copy whose close waits on a box (a question of its close, what became of the
        // groups at its exit) is no hang: this start waits for the answer however long the
        // box stays up, then runs or brings the copy up. The box comes to the front once,
        // so that the user sees what holds the start up.
        const HWND hClosing = hMain != NULL ? hMain : FindClosingMainWindow();
        const HWND hPopup = hClosing != NULL ? ::GetLastActivePopup(hClosing) : NULL;
        if (hPopup != hClosing && ::IsWindowVisible(hPopup)) {
            dwStart = ::GetTickCount();
            if (hClosing != hClosingSeen) ::SetForegroundWindow(hPopup);
            hClosingSeen = hClosing;
        }
        // A copy that reads a long list before its window shows is on its way, not hanging:
        // the patience counts from its last note of work.
        const HWND hMarked = hMain != NULL ? NULL : FindRunningMainWindow();
        if (hMarked != NULL && QuietFor(hMarked) < kRunningCopyAnswerWait) dwStart = ::GetTickCount();
        if (::GetTickCount() - dwStart >= dwPatience) {
            hMain = FindShownMainWindow();
            break;
        }
        const DWORD dwWait = hHeldElsewhere != NULL ? ::WaitForSingleObject(hHeldElsewhere, 50) : WAIT_FAILED;
        if (dwWait == WAIT_OBJECT_0 || dwWait == WAIT_ABANDONED) {
            // The copy ended without showing a window: the mutex is this one's now, and
            // this start is the one copy.
            g_hPurgeletMutex = hHeldElsewhere;
            return RunningCopyOutcome::Ended;
        }
        // Without a handle to wait on (a copy under other rights) only the window tells.
        if (dwWait == WAIT_FAILED) ::Sleep(50);
    }
    if (hHeldElsewhere != NULL) ::CloseHandle(hHeldElsewhere);
    if (answer == StaysUp::NoAnswer) {
        // Brought up, a window that takes no messages would only show the user a frozen
        // copy, and ending without a word would leave the user waiting for it.
        AfxMessageBox(RunningCopyNotRespondingText().c_str(), MB_OK | MB_ICONWARNING);
        return RunningCopyOutcome::Hangs;
    }
    if (hMain == NULL) {
        // A copy still without a window after dwPatience hangs: this start says so and ends
        // rather than stay behind as a hidden process for as long as it hangs. Ending
        // without a word would leave the user waiting for a window that never comes.
        AfxMessageBox(RunningCopyHangsText().c_str(), MB_OK | MB_ICONWARNING);
        // The window may have shown meanwhile: brought up below, as when it had shown in time.
        hMain = FindShownMainWindow();
        if (hMain == NULL) return RunningCopyOutcome::Hangs;
    }
    // The running copy may bring its own windows to the front (it shows a box later).
    DWORD dwProcessId = 0;
    ::GetWindowThreadProcessId(hMain, &dwProcessId);
    ::AllowSetForegroundWindow(dwProcessId);
    // A box the running copy shows stays in front of its window.
    const HWND hPopup = ::GetLastActivePopup(hMain);
    const bool bBox = hPopup != NULL && hPopup != hMain && ::IsWindowVisible(hPopup);
    // Asynchronously: a busy copy must not hold this one up. The running copy restores
    // its window whenever it gets to it, maybe after the box below came to the front:
    // under a box the restore leaves the activation alone, or it would put the window
    // the box disables in front of it.
    if (::IsIconic(hMain)) ::ShowWindowAsync(hMain, bBox ? SW_SHOWNOACTIVATE : SW_RESTORE);
    ::SetForegroundWindow(bBox ? hPopup : hMain);
    return RunningCopyOutcome::BroughtUp;
}

BOOL CPurgeletApp::InitInstance()
{
    // One copy per user session: a second start brings the running window to the front
    // and ends before anything is set up, read or written, so that two copies never
    // write their own views of the groups and options over each other. When the running
    // copy ends without ever showing a window, this start goes on as the one copy.
    HANDLE hHeldElsewhere = NULL;
    m_bRunningCopyHangs = false;
    if (!TakeInstanceMutex(&hHeldElsewhere)) {
        const RunningCopyOutcome outcome = ShowRunningInstance(hHeldElsewhere);
        m_bRunningCopyHangs = outcome == RunningCopyOutcome::Hangs;
        if (outcome != RunningCopyOutcome::Ended) return FALSE;
    }
    SetupToolkit();
    ::InitCommonControls();
    CWinApp::InitInstance();
    AfxEnableControlContainer();
    SetRegistryKey("Corvalin");
    // The framework's strings are heap copies it frees itself.
    free(const_cast<LPTSTR>(m_pszProfileName));
    m_pszProfileName = _strdup("Nimbo Purgelet");
    RunMainDialog();
    return FALSE;
}

void CPurgeletApp::RunMainDialog()
{
    CPurgeletDlg dlg;
    m_pMainWnd = &dlg;
    m_pMainDlg = &dlg;
    {
        CInputRule::CMessageHook hook;
        m_nMainDialogResult = dlg.DoModal();
    }
    // Nothing may reach the dialog object once it is gone.
    m_pMainDlg = NULL;
    m_pMainWnd = NULL;
}

int CPurgeletApp::ExitInstance()
{
    CWinApp::ExitInstance();
    if (m_bRunningCopyHangs) return kRunningCopyHangsExitCode;
    return m_nMainDialogResult == -1 ? kStartFailedExitCode : 0;
}

HACCEL CPurgeletApp::GetMainAccelerators() { return m_pMainDlg != NULL ? m_pMainDlg->m_hAccel : NULL; }

BOOL CPurgeletApp::ProcessMessageFilter(int code, LPMSG lpMsg)
{
    if (code >= 0 && lpMsg != NULL && TranslateMainAccelerators(lpMsg)) return TRUE;
    return CWinApp::ProcessMessageFilter(code, lpMsg);
}

bool IsTextEditingKey(const MSG* pMsg)
{
    if (pMsg == NULL || (pMsg->message != WM_KEYDOWN && pMsg->message != WM_SYSKEYDOWN)) return false;
    // Only a window that keeps a text selection edits text (an edit control, also one
    // inside a combo box or a page).
    if (pMsg->hwnd == NULL || (::SendMessageA(pMsg->hwnd, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL) == 0) return false;
    const WPARAM vk = pMsg->wParam;
    if (vk == VK_DELETE || vk == VK_INSERT || vk == VK_BACK) return true;
    const bool bCtrl = ::GetKeyState(VK_CONTROL) < 0, bAlt = ::GetKeyState(VK_MENU) < 0;
    return bCtrl && !bAlt && vk >= 'A' && vk <= 'Z';
}

bool CPurgeletApp::TranslateMainAccelerators(MSG* pMsg)
{
    if (m_pMainWnd == NULL || m_pMainWnd->GetSafeHwnd() == NULL) return false;
    // A modal window's loop comes through here as well: its keys are its own, and the
    // main window behind it takes no command (F5 would refresh the list the box's
    // question is about).
    if (!CInputRule::TakesCommands()) return false;
    // A text field keeps its editing keys (Ctrl+C copies its text, not the selected row).
    if (IsTextEditingKey(pMsg)) return false;
    HACCEL hAccel = GetMainAccelerators();
    return hAccel != NULL && ::TranslateAcceleratorA(m_pMainWnd->GetSafeHwnd(), hAccel, pMsg) != 0;
}

// True when a dialog other than hWndMain lies on the way from hWnd up to hWndMain: that
// dialog's own message handling takes every key typed in it, so the walk of the
// pre-translation would never bring the key to the main dialog and its bars.
static bool IsInsideInnerDialog(HWND hWnd, HWND hWndMain)
{
    bool bInner = false;
    for (; hWnd != NULL; hWnd = ::GetParent(hWnd)) {
        if (hWnd == hWndMain) return bInner;
        // A window of its own (a dialog the main one opened) is not inside it.
        if ((::GetWindowLongA(hWnd, GWL_STYLE) & WS_CHILD) == 0) return false;
        CWnd* pWnd = CWnd::FromHandlePermanent(hWnd);
        if (pWnd != NULL && pWnd->IsKindOf(RUNTIME_CLASS(CDialog))) bInner = true;
    }
    return false;
}

// Alt+F4: the key the system turns into the window's Close.
static bool IsSystemCloseKey(const MSG& msg)
{
    return msg.message == WM_SYSKEYDOWN && msg.wParam == VK_F4 && (HIWORD(msg.lParam) & KF_ALTDOWN) != 0;
}

BOOL CPurgeletApp::PreTranslateMessage(MSG* pMsg)
{
    // Every loop of the framework and the toolkit (a dialog's, a menu's, a bar's drag)
    // offers its messages here first: behind a modal window nothing of the main window
    // takes a key or a click.
    if (pMsg != NULL && CInputRule::RefusesMainWindowInput(*pMsg)) return TRUE;
    HWND hWndMain = m_pMainDlg != NULL ? m_pMainDlg->GetSafeHwnd() : NULL;
    // The system makes Alt+F4 the window's Close only where the control with the focus
    // leaves the key to the default handling, and a control may take the system's keys
    // for itself (the groups tree reports them to its page and stops there). Wherever
    // the focus sits in the main window, the key closes it here instead.
    const bool bCloseKey = pMsg != NULL && hWndMain != NULL && IsSystemCloseKey(*pMsg) &&
                           CInputRule::IsMainWindowInput(*pMsg);
    // The focus mostly sits in a page, a dialog of its own inside the main one. The menu
    // bar must still see Alt, F10, Alt+letter and the keys of its keyboard selection
    // there, as it does where the main dialog's own filter hands them over; and the
    // close key, which tells it that the Alt held for it opens no menu.
    const bool bKey = pMsg != NULL && (pMsg->message == WM_KEYDOWN || pMsg->message == WM_KEYUP ||
                                       pMsg->message == WM_SYSKEYDOWN || pMsg->message == WM_SYSKEYUP);
    if (bKey && hWndMain != NULL && CInputRule::TakesCommands() &&
        (bCloseKey || IsInsideInnerDialog(pMsg->hwnd, hWndMain)) &&
        CExtControlBar::ChildBarsPreTranslateMessage(m_pMainDlg, pMsg))
        return TRUE;
    if (bCloseKey) {
        // Sent, as the key's own handling: the close is decided before the next message
        // (a start that asks whether this window stays up) is looked at. The system
        // menu's Close refuses behind a box as the key did above.
        ::SendMessageA(hWndMain, WM_SYSCOMMAND, SC_CLOSE, 0);
        return TRUE;
    }
    return CWinApp::PreTranslateMessage(pMsg);
}

void CPurgeletApp::HtmlHelp(DWORD_PTR dwData, UINT nCmd)
{
    typedef HWND(WINAPI * PFN_HTMLHELPA)(HWND, LPCSTR, UINT, DWORD_PTR);
    static HMODULE s_hHelp = NULL;
    static PFN_HTMLHELPA s_pfn = NULL;
    if (s_hHelp == NULL) {
        s_hHelp = ::LoadLibraryA("hhctrl.ocx");
        if (s_hHelp != NULL) s_pfn = (PFN_HTMLHELPA)(void*)::GetProcAddress(s_hHelp, "HtmlHelpA");
    }
    if (s_pfn != NULL) s_pfn(::GetDesktopWindow(), m_pszHelpFilePath, nCmd, dwData);
}

std::string FindDataFolder()
{
    char buffer[MAX_PATH];
    memset(buffer, 0, sizeof(buffer));
    CWnd* pMainWnd = AfxGetMainWnd();
    BOOL bFound =
        ::SHGetSpecialFolderPathA(pMainWnd != NULL ? pMainWnd->GetSafeHwnd() : NULL, buffer, CSIDL_APPDATA, TRUE);
    buffer[MAX_PATH - 1] = '\0';
    // Without the application-data folder the name below would be a folder in the
    // root of the current drive: the executable's folder serves instead.
    bool bUsable = bFound && buffer[0] != '\0';
    std::string path = std::string(buffer) + "\\Nimbo Purgelet\\";
    if (!bUsable || (!::CreateDirectoryA(path.c_str(), NULL) && ::GetLastError() != ERROR_ALREADY_EXISTS)) {
        char module[MAX_PATH];
        memset(module, 0, sizeof(module));
        ::GetModuleFileNameA(AfxGetInstanceHandle(), module, MAX_PATH);
        char* slash = strrchr(module, '\\');
        if (slash != NULL) slash[1] = '\0';
        path = module;
    }
    return path;
}

std::string GetDataFolder()
{
    static std::string s_path;
    if (s_path.empty()) s_path = FindDataFolder();
    return s_path;
}

std::string GetGroupsFilePath() { return GetDataFolder() + "Purgelet.xml"; }

namespace
{
// Where the keys went in the main window when a program's command started.
struct MainWindowFocus
{
    HWND hFocus = NULL;
    bool bForeground = false;
};

MainWindowFocus NoteMainWindowFocus(HWND hMain)
{
    MainWindowFocus focus;
    if (hMain == NULL) return focus;
    const HWND hFocus = ::GetFocus();
    if (hFocus != NULL && ::IsChild(hMain, hFocus)) focus.hFocus = hFocus;
    focus.bForeground = ::GetForegroundWindow() == hMain;
    return focus;
}

// The program's own window took the front while the main window could not be activated
// (it was disabled), so when that window closed nothing took the front, and without a
// window manager nothing ever will: the main window comes back to the front when the
// user left nothing else there. The keys go where they went before.
void RestoreMainWindowFocus(HWND hMain, const MainWindowFocus& focus)
{
    if (hMain == NULL || !::IsWindow(hMain) || !::IsWindowEnabled(hMain)) return;
    const HWND hForeground = ::GetForegroundWindow();
    const bool bNothingInFront = hForeground == NULL || hForeground == ::GetDesktopWindow();
    if (focus.bForeground && bNothingInFront) ::SetForegroundWindow(hMain);
    if (::GetActiveWindow() != hMain) return;  // the dialog gives the focus back when activated
    const HWND hFocus = focus.hFocus;
    if (hFocus == NULL || !::IsWindow(hFocus) || !::IsChild(hMain, hFocus) || !::IsWindowVisible(hFocus) ||
        !::IsWindowEnabled(hFocus))
        return;
    if (::GetFocus() != hFocus) ::SetFocus(hFocus);
}
}  // namespace

void WaitForProgram(HANDLE hProcess)
{
    // The window keeps painting and answering while the program runs, but takes no
    // input: no command may start while another one waits here.
    CWnd* pMainWnd = AfxGetMainWnd();
    HWND hMain = pMainWnd != NULL ? pMainWnd->GetSafeHwnd() : NULL;
    bool bReenable = hMain != NULL && ::IsWindowEnabled(hMain);
    const MainWindowFocus focus = NoteMainWindowFocus(hMain);
    if (bReenable) ::EnableWindow(hMain, FALSE);
    bool bQuit = false;
    int nQuitCode = 0;
    for (CInputRule::CProgramRun running;;) {
        DWORD dwResult = ::MsgWaitForMultipleObjects(1, &hProcess, FALSE, INFINITE, QS_ALLINPUT);
        if (dwResult != WAIT_OBJECT_0 + 1) break;  // the process ended, or the wait failed
        MSG msg;
        while (::PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                bQuit = true;
                nQuitCode = (int)msg.wParam;
                continue;
            }
            // A disabled window's children still get the keys while one of them has the
            // focus: none of it may reach the list, the search box or the groups pane
            // while the program runs.
            if (CInputRule::RefusesMainWindowInput(msg)) continue;
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
    }
    if (bReenable && ::IsWindow(hMain)) ::EnableWindow(hMain, TRUE);
    if (bReenable) RestoreMainWindowFocus(hMain, focus);
    // A quit request belongs to the loop outside.
    if (bQuit) ::PostQuitMessage(nQuitCode);
}

void RunProgram(const char* commandLine)
{
    if (commandLine == NULL) commandLine = "";
    // CreateProcess may write into its command line.
    std::vector<char> writable(commandLine, commandLine + strlen(commandLine) + 1);
    STARTUPINFOA si;
    memset(&si, 0, sizeof(si));
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi;
    memset(&pi, 0, sizeof(pi));
    if (::CreateProcessA(NULL, writable.data(), NULL, NULL, FALSE, 0, NULL, NULL, &si, &pi)) {
        ::CloseHandle(pi.hThread);
        WaitForProgram(pi.hProcess);
        ::CloseHandle(pi.hProcess);
        return;
    }
    const DWORD dwError = ::GetLastError();
    AfxMessageBox(LaunchFailureText(commandLine, dwError).c_str(), MB_OK);
}

std::string LaunchFailureText(const char* commandLine, DWORD dwError)
{
    std::string text = std::string("Couldn't launch the program \"") + commandLine + "\"";
    // An uninstaller that ran once often deletes itself and its folder, and leaves the
    // entry behind: a second run then finds no file, which is no fault of the command.
    if (dwError == ERROR_FILE_NOT_FOUND || dwError == ERROR_PATH_NOT_FOUND)
        text += "\r\n\r\nThe uninstaller is no longer there: the program may have been removed already, "
                "and its entry may be stale. Remove Entry takes the entry off the list; Refresh (F5) reads "
                "the list again.";
    return text;
}
