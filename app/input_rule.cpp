#include "app/input_rule.h"
#include "app/click_message.h"
#include "app/ui_manager.h"
#include <algorithm>
#include <utility>
#include <vector>

namespace
{
int s_nProgramsRunning = 0;
int s_nCommandsCarriedOut = 0;
HHOOK s_hFilter = NULL;
HHOOK s_hWindows = NULL;
// The time of the last key the rule dropped (0: none yet): the keys typed in one go
// after it go with it.
ULONGLONG s_ullKeyDropped = 0;
// When the last of the program's commands ended (0: none yet).
ULONGLONG s_ullRunEnded = 0;
// Gives up the program the commands act on.
std::function<void()> s_fnTargetGone;
// Hears that the outermost command carried out is over.
std::function<void()> s_fnCommandEnded;

// A window of the thread that closed: where it lay and when.
struct ClosedWindow
{
    RECT rc;
    ULONGLONG ullTime;
};
std::vector<ClosedWindow> s_closed;

HWND MainWindow()
{
    CWnd* pMainWnd = AfxGetMainWnd();
    return pMainWnd != NULL ? pMainWnd->GetSafeHwnd() : NULL;
}

bool IsKeyMessage(UINT message) { return message >= WM_KEYFIRST && message <= WM_KEYLAST; }

// A key pressed (not released): what makes a burst and carries it on.
bool IsKeyPress(UINT message) { return message == WM_KEYDOWN || message == WM_SYSKEYDOWN; }

// A key that only changes what the next key means.
bool IsModifierKey(WPARAM vk)
{
    return vk == VK_SHIFT || vk == VK_CONTROL || vk == VK_MENU || (vk >= VK_LSHIFT && vk <= VK_RMENU) ||
           vk == VK_LWIN || vk == VK_RWIN;
}

// Input that picks, moves or acts on a program: a key other than a modifier alone, a
// typed character, a button pressed. A release, a move of the pointer or the wheel
// leave the selection as it is.
bool ChangesTarget(UINT message, WPARAM wParam)
{
    if (IsKeyPress(message)) return !IsModifierKey(wParam);
    const bool bCharacter =
        message == WM_CHAR || message == WM_SYSCHAR || message == WM_DEADCHAR || message == WM_SYSDEADCHAR;
    return bCharacter || IsClickMessage(message);
}

ULONGLONG Now() { return ::GetTickCount64(); }

LRESULT CALLBACK FilterMainWindowInput(int nCode, WPARAM wParam, LPARAM lParam)
{
    if (nCode >= 0 && lParam != 0 && CInputRule::RefusesMainWindowInput(*(const MSG*)lParam)) return TRUE;
    return ::CallNextHookEx(s_hFilter, nCode, wParam, lParam);
}

// A box, a dialog or a menu of the program that goes uncovers what lay under it.
LRESULT CALLBACK NoteWindowGone(int nCode, WPARAM wParam, LPARAM lParam)
{
    if (nCode == HCBT_DESTROYWND) {
        const HWND hWnd = (HWND)wParam;
        RECT rc;
        if ((::GetWindowLongA(hWnd, GWL_STYLE) & WS_CHILD) == 0 && hWnd != MainWindow() && ::GetWindowRect(hWnd, &rc))
            CInputRule::NoteClosedWindow(rc, Now());
    }
    return ::CallNextHookEx(s_hWindows, nCode, wParam, lParam);
}
}  // namespace

CInputRule::CProgramRun::CProgramRun() { ++s_nProgramsRunning; }

CInputRule::CProgramRun::~CProgramRun()
{
    --s_nProgramsRunning;
    s_ullRunEnded = Now();
}

CInputRule::CCommandCarriedOut::CCommandCarriedOut(bool bCommand) : m_bCommand(bCommand)
{
    if (m_bCommand) ++s_nCommandsCarriedOut;
}

CInputRule::CCommandCarriedOut::~CCommandCarriedOut()
{
    if (!m_bCommand || --s_nCommandsCarriedOut > 0 || !s_fnCommandEnded) return;
    // Called through a copy: the one told may replace the handler.
    const std::function<void()> fnCommandEnded = s_fnCommandEnded;
    fnCommandEnded();
}

CInputRule::CMessageHook::CMessageHook()
{
    // Filters of its own, not the framework's: that one is not asked again inside a loop
    // that runs from a filter call (a box an accelerator's command shows).
    m_hFilter = ::SetWindowsHookExA(WH_MSGFILTER, FilterMainWindowInput, NULL, ::GetCurrentThreadId());
    m_hWindows = ::SetWindowsHookExA(WH_CBT, NoteWindowGone, NULL, ::GetCurrentThreadId());
    s_hFilter = m_hFilter;
    s_hWindows = m_hWindows;
}

CInputRule::CMessageHook::~CMessageHook()
{
    if (m_hFilter != NULL) ::UnhookWindowsHookEx(m_hFilter);
    if (m_hWindows != NULL) ::UnhookWindowsHookEx(m_hWindows);
    s_hFilter = NULL;
    s_hWindows = NULL;
    s_closed.clear();
}

bool CInputRule::IsProgramRunning() { return s_nProgramsRunning > 0; }

bool CInputRule::IsCarryingOutCommand() { return s_nCommandsCarriedOut > 0; }

bool CInputRule::IsModalWindowUp()
{
    // Every modal window of the program is owned by the main window and disables it for
    // its time: the framework's dialogs, the message boxes, the wait for a program.
    const HWND hMain = MainWindow();
    return hMain != NULL && ::IsWindow(hMain) && !::IsWindowEnabled(hMain);
}

bool CInputRule::TakesCommands() { return !IsModalWindowUp() && !IsProgramRunning(); }

bool CInputRule::IsCommandMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_COMMAND) {
        // A command comes without a control (menu, accelerator, toolbar, posted) or as a
        // button's click. Other notifications of a control only keep its owner up to
        // date with it (an edit's text) and pass.
        return lParam == 0 || HIWORD(wParam) == BN_CLICKED;
    }
    if (message == WM_SYSCOMMAND) {
        // The items the program adds to the system menu (About) are its commands, and
        // Close ends the window as File > Exit does. Moving, sizing and minimising pass.
        const UINT nSysCommand = (UINT)(wParam & 0xFFF0);
        return nSysCommand < SC_SIZE || nSysCommand == SC_CLOSE;
    }
    // The editor's typing applied when a box's Yes answers for it (another group picked
    // in the tree, the editor closed).
    return message == g_nMsgApplyGroupEditor;
}

bool CInputRule::IsMainWindowInput(const MSG& msg)
{
    const bool bInput = IsKeyMessage(msg.message) || (msg.message >= WM_MOUSEFIRST && msg.message <= WM_MOUSELAST);
    const HWND hMain = MainWindow();
    return bInput && hMain != NULL && msg.hwnd != NULL && (msg.hwnd == hMain || ::IsChild(hMain, msg.hwnd));
}

ULONGLONG CInputRule::InputTime(DWORD dwMessageTime, ULONGLONG ullNow)
{
    const DWORD dwAge = (DWORD)ullNow - dwMessageTime;
    // A time ahead of the clock (another clock's rounding) counts as now.
    if (dwAge >= 0x80000000u || dwAge > ullNow) return ullNow;
    return ullNow - dwAge;
}

bool CInputRule::RefusesKeyOfBurst(const MSG& msg)
{
    return SoonAfter(InputTime(msg.time, Now()), s_ullKeyDropped);
}

bool CInputRule::MadeBeforeRunEnded(const MSG& msg)
{
    // The wait may end with input still queued: the process's end and a key can come at
    // once. Made while the command ran, it was aimed at the window as it was.
    return s_ullRunEnded != 0 && InputTime(msg.time, Now()) <= s_ullRunEnded;
}

void CInputRule::InputDropped(UINT message, WPARAM wParam, DWORD dwTime)
{
    if (IsKeyPress(message)) s_ullKeyDropped = std::max(s_ullKeyDropped, InputTime(dwTime, Now()));
    if (!ChangesTarget(message, wParam) || !s_fnTargetGone) return;
    // Called through a copy: giving the target up may drop more input, or replace the
    // handler.
    const std::function<void()> fnTargetGone = s_fnTargetGone;
    fnTargetGone();
}

void CInputRule::SetTargetGone(std::function<void()> fnTargetGone) { s_fnTargetGone = std::move(fnTargetGone); }

void CInputRule::SetCommandEnded(std::function<void()> fnCommandEnded) { s_fnCommandEnded = std::move(fnCommandEnded); }

ULONGLONG CInputRule::RunEnded() { return s_ullRunEnded; }

bool CInputRule::RefusesMainWindowInput(const MSG& msg)
{
    if (!IsMainWindowInput(msg)) return false;
    const bool bRefused = !TakesCommands() || MadeBeforeRunEnded(msg) ||
                          (IsKeyMessage(msg.message) && RefusesKeyOfBurst(msg));
    if (bRefused) InputDropped(msg.message, msg.wParam, msg.time);
    return bRefused;
}

void CInputRule::DropQueuedClicks()
{
    const HWND hMain = MainWindow();
    if (hMain == NULL) return;
    // The filter takes the window's children too. Bounded: a pointer that keeps moving
    // must not hold the thread here.
    MSG msg;
    for (int n = 0; n < 10000 && ::PeekMessageA(&msg, hMain, WM_MOUSEFIRST, WM_MOUSELAST, PM_REMOVE); ++n)
        InputDropped(msg.message, msg.wParam, msg.time);
}

void CInputRule::NoteClosedWindow(const RECT& rcScreen, ULONGLONG ullTime)
{
    // Only those a click can still be aimed at are kept.
    std::vector<ClosedWindow> kept;
    for (const ClosedWindow& closed : s_closed)
        if (SoonAfter(ullTime, closed.ullTime)) kept.push_back(closed);
    kept.push_back({rcScreen, ullTime});
    s_closed.swap(kept);
}

bool CInputRule::CoveredAt(POINT ptScreen, ULONGLONG ullTime)
{
    for (const ClosedWindow& closed : s_closed)
        if (::PtInRect(&closed.rc, ptScreen) && SoonAfter(ullTime, closed.ullTime)) return true;
    return false;
}

bool CInputRule::SoonAfter(ULONGLONG ullInput, ULONGLONG ullEvent)
{
    return ullEvent != 0 && (ullInput < ullEvent || ullInput - ullEvent < ::GetDoubleClickTime());
}
