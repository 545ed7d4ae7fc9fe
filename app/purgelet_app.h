// The application object and the free functions of the application that several
// windows share: the toolkit set-up, the data folder and groups file, running a
// program's command line, and opening the registry editor at a program's key.
#pragma once
#include "framework/framework.h"
#include <string>

// The command profile of the whole application (main dialog, bars, groups page).
extern const char* const g_szPurgeletProfileName;
// The handle of the "Mutex_NimboPurgelet" mutex this copy holds while it runs; NULL
// until start-up took it.
extern HANDLE g_hPurgeletMutex;

class CPurgeletDlg;

class CPurgeletApp : public CWinApp
{
public:
    CPurgeletApp();
    virtual ~CPurgeletApp();

    // Takes the mutex (a second copy brings the running one's window to the front once
    // it shows and ends; it goes on as the one copy when the running one ended without a
    // window), prepares the toolkit, the registry key and profile name, then runs the main
    // dialog; always FALSE, so the program ends when the dialog does.
    BOOL InitInstance() override;
    // Applies the main dialog's accelerators while it runs modally.
    BOOL ProcessMessageFilter(int code, LPMSG lpMsg) override;
    // The one place that decides whether a key is the main window's command: not while
    // a modal window is up, and not a text field's editing key.
    bool TranslateMainAccelerators(MSG* pMsg);
    // Drops a key or a click for the main window behind a modal window of the program
    // (the mediator decides); offers the keys typed anywhere in the main dialog to its
    // menu bar first; makes Alt+F4 the main window's Close wherever its focus sits.
    BOOL PreTranslateMessage(MSG* pMsg) override;
    void HtmlHelp(DWORD_PTR dwData, UINT nCmd = 0x000F) override;
    // The process's exit code: 0 after a run the user closed, and after a second start
    // that brought the running copy up; kRunningCopyHangsExitCode after a second start
    // that ended on a running copy that did not respond (the user was told);
    // kStartFailedExitCode when the main dialog's loop ended otherwise (its window could
    // not be set up, which the user was told, or a quit request ended it). Not the last
    // message's word, which a close by File > Exit would turn into the command's number.
    int ExitInstance() override;

protected:
    // Runs the main dialog modally as the framework's main window, with the input rule's
    // message hook in place (it drops the dialog's keys and clicks in the system's modal
    // loops while a modal window of the program is up).
    virtual void RunMainDialog();
    // The running main dialog's accelerator table; NULL when none runs.
    virtual HACCEL GetMainAccelerators();

    CPurgeletDlg* m_pMainDlg;
    // What the last run of the main dialog ended with (-1: it could not be set up).
    INT_PTR m_nMainDialogResult;
    // The last start ended on a running copy that did not respond.
    bool m_bRunningCopyHangs;

    DECLARE_MESSAGE_MAP()
};

// The program's exit code when its main dialog ended without the user's close.
const int kStartFailedExitCode = 1;
// The exit code of a start that ended because the running copy did not respond.
const int kRunningCopyHangsExitCode = 2;

// The command profile, the Studio 2005 theme and the popup-menu options.
void SetupToolkit();
// The folder for the application's own files, ending with a backslash: "Nimbo
// Purgelet" under the user's application data, else the executable's folder when that
// cannot be created. Worked out once per process.
std::string GetDataFolder();
// GetDataFolder() + "Purgelet.xml".
std::string GetGroupsFilePath();
// The data folder worked out afresh, without keeping it.
std::string FindDataFolder();
// Runs a command line and waits for the process to end; a command line that cannot
// be started is reported in a message box.
void RunProgram(const char* commandLine);
// The text of the box that says a command line could not be started, for the error
// CreateProcess gave: a file or folder not found adds that the uninstaller is gone and
// the entry may be stale.
std::string LaunchFailureText(const char* commandLine, DWORD dwError);
// Waits for a process while the thread's messages are dispatched, the main window
// disabled for the time of the wait.
void WaitForProgram(HANDLE hProcess);
// A key that edits the text of the focused window (Del, Ins, Backspace, Ctrl+letter),
// when that window is a text field.
bool IsTextEditingKey(const MSG* pMsg);
// Brings up the registry editor and walks its tree to the given path
// ("\HKEY_LOCAL_MACHINE\SOFTWARE\..."), typed by its exact (wide) key names.
void ShowInRegEdit(const wchar_t* registryPath);
// False when another copy of the program holds the "Mutex_NimboPurgelet" mutex; then
// *phHeldElsewhere (when given) receives a handle to that mutex to wait on, the
// caller's to close (NULL when it cannot be opened). Otherwise this process holds it
// (from now, or from an earlier start), owned by the calling thread, and true.
bool TakeInstanceMutex(HANDLE* phHeldElsewhere = NULL);
// Marks (or unmarks, before it is destroyed) the main window as the running copy's.
void MarkMainWindow(HWND hWnd, bool bMark);
// Notes that the running copy's main window (marked by MarkMainWindow) is at work on its
// own thread and takes no messages meanwhile: every step of a long loop (a refresh, a
// refill, the sort) calls it, and it costs a look at the clock but every kWorkBeatStep. A
// start that asks that window while the notes keep coming waits for its answer however
// long the work lasts; only a window silent, without a note, for kRunningCopyAnswerWait
// is said not to respond.
void NoteMainWindowWorking();
const DWORD kWorkBeatStep = 200;
// While one lives, work is noted for the main window (as NoteMainWindowWorking) every
// kWorkBeatStep from a thread of its own: the window's thread is in calls that may block on
// the system for long (the groups file on a slow disk or a network share) and can note
// nothing itself meanwhile. Calls blocked beyond kRunningCopyPatience are taken for a hang,
// and the notes stop.
class CWorkNotedMeanwhile
{
public:
    CWorkNotedMeanwhile();
    ~CWorkNotedMeanwhile();
    CWorkNotedMeanwhile(const CWorkNotedMeanwhile&) = delete;
    CWorkNotedMeanwhile& operator=(const CWorkNotedMeanwhile&) = delete;

private:
    static DWORD WINAPI Beat(LPVOID pThis);
    HANDLE m_hDone, m_hThread;
    DWORD m_dwStart;
};
// Marks the main window as closing once its close is decided (its running mark goes), or
// takes that mark away before it is destroyed: a start waits for a closing copy to end.
void MarkMainWindowClosing(HWND hWnd, bool bClosing);
// The main window of a running copy, or NULL.
HWND FindRunningMainWindow();
// The question a start asks the running copy's main window before it brings it up and
// ends ("do you stay up?"). The window answers with StaysUpAnswer; a window that does not
// know the question (an older copy) answers 0, which counts as kStaysUp.
extern const UINT g_nMsgStaysUp;
const LRESULT kStaysUp = 1;
const LRESULT kMayClose = 2;
// The main window's answer on its own thread: kMayClose while its close asks the user
// something (bCloseAsked), once its close is decided (it is marked running no longer), or
// while a click or key the user made before the question waits in the thread's queue (it
// may be a close: Alt+F4, a click on Close), else kStaysUp.
LRESULT StaysUpAnswer(HWND hMain, bool bCloseAsked);
// The main window of a copy whose close is under way, or NULL.
HWND FindClosingMainWindow();
// How long a second start waits at most for the window of a copy that holds the mutex
// and lives: its window is made within a few seconds of its start even on a loaded
// machine (and the first refresh, however long, runs with the window made already).
const DWORD kRunningCopyPatience = 2 * 60 * 1000;
// How long a second start waits for the shown window's answer while that window's copy
// gives no sign of work (NoteMainWindowWorking): as long as the system gives a window
// before it calls it not responding. A copy that is busy with a box or a launched program
// still takes its messages and answers at once; one at work on a long list notes its work.
const DWORD kRunningCopyAnswerWait = 5000;
// What a start made while another copy holds the mutex came to.
enum class RunningCopyOutcome
{
    Ended,  // the copy ended without a window: this start holds the mutex and runs
    BroughtUp,  // its window, or the box it shows, was brought to the front: this start ends
    Hangs,  // its window did not show in time or did not answer, said in a box: this start ends
};
// Waits for the running copy's window to show, as long as that copy holds the mutex
// (at most dwPatience ms after its last note of work), and brings the window, or the box
// it shows, to the front, restored when minimised, once it answered; hHeldElsewhere (from
// TakeInstanceMutex) is closed then. A window that never shows (RunningCopyHangsText), or
// that neither answers nor notes work for kRunningCopyAnswerWait
// (RunningCopyNotRespondingText), is reported in a box. Ended: this process holds the
// mutex, through hHeldElsewhere, and starts as the one copy.
RunningCopyOutcome ShowRunningInstance(HANDLE hHeldElsewhere, DWORD dwPatience = kRunningCopyPatience);
// The box's text when the running copy's window has not shown in time.
std::string RunningCopyHangsText();
// The box's text when the running copy's window does not answer.
std::string RunningCopyNotRespondingText();
