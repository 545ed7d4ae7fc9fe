// Moving between the menu bar's menus with Right and Left in the program's main window,
// against opening the first menu with Alt+F in the same run. Each figure runs from the
// SendInput of the key until the new popup menu's window is shown (seen by a hook on the
// messages sent to it); the menus open over the program list, which repaints what the
// old menu covered. Keys are sent from a thread timer, which only fires with the
// queue empty and every window painted, so each step starts from a quiet window.
// At the end, with the window still up, the question every command state asks (whether
// the program list is on screen) is timed 24 times, as one Alt+F asks it, against the
// same question with the monitors asked each time, as before their work areas were kept.
//
// Usage: bench_menu_bar_switch [entries] [rounds]   (defaults 400 and 12)
#include <windows.h>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>
#include "app/purgelet_app.h"
#include "app/purgelet_dlg.h"
#include "app/ui_manager.h"
#include "catalogue/program_entry.h"
#include "support/registry_sandbox.h"
#include "toolkit/menus/popup_menu_wnd.h"
#include "bench/registry_bench.h"
#include "bench/window_bench.h"

namespace {

CPurgeletApp s_app;

void SendKeys(std::initializer_list<std::pair<WORD, bool>> keys)
{
    INPUT in[8] = {};
    int n = 0;
    for (const auto& k : keys)
    {
        in[n].type = INPUT_KEYBOARD;
        in[n].ki.wVk = k.first;
        in[n].ki.dwFlags = k.second ? KEYEVENTF_KEYUP : 0;
        if (++n == 8)
            break;
    }
    ::SendInput(n, in, sizeof(INPUT));
}

HHOOK g_hook = NULL;
LARGE_INTEGER g_shown;
int g_nShown = 0;

// A popup menu's window being shown.
LRESULT CALLBACK WatchShow(int nCode, WPARAM wParam, LPARAM lParam)
{
    const CWPSTRUCT* p = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (nCode == HC_ACTION && p->message == WM_WINDOWPOSCHANGED &&
        (reinterpret_cast<const WINDOWPOS*>(p->lParam)->flags & SWP_SHOWWINDOW) != 0)
    {
        CWnd* pWnd = CWnd::FromHandlePermanent(p->hwnd);
        if (pWnd != nullptr && pWnd->IsKindOf(RUNTIME_CLASS(CExtPopupMenuWnd)))
        {
            QueryPerformanceCounter(&g_shown);
            ++g_nShown;
        }
    }
    return ::CallNextHookEx(g_hook, nCode, wParam, lParam);
}

// The question every command state asks (is the program list on screen, no box up), 24
// times as one Alt+F asks it; the reference asks the system for its monitors besides at
// each question, as the program did before it kept their work areas.
BOOL CALLBACK TouchWorkArea(HMONITOR hMonitor, HDC, LPRECT, LPARAM lParam)
{
    MONITORINFO info = {};
    info.cbSize = sizeof(info);
    if (::GetMonitorInfoA(hMonitor, &info))
        ++*reinterpret_cast<int*>(lParam);
    return TRUE;
}

std::vector<double> g_question, g_questionReference;
int g_nOnScreen = 0;

void TimeQuestions(HWND hList)
{
    const int kPerAltF = 24;
    for (int pass = 0; pass < 50; ++pass)
    {
        LARGE_INTEGER t0, t1, t2;
        QueryPerformanceCounter(&t0);
        for (int i = 0; i < kPerAltF; ++i)
            g_nOnScreen += CUiManager::GetInstance()->IsProgramListInReach() ? 1 : 0;
        QueryPerformanceCounter(&t1);
        for (int i = 0; i < kPerAltF; ++i)
        {
            g_nOnScreen += CUiManager::GetInstance()->IsProgramListInReach() ? 1 : 0;
            RECT rc;
            ::GetWindowRect(hList, &rc);
            int nMonitors = 0;
            ::EnumDisplayMonitors(NULL, &rc, &TouchWorkArea, reinterpret_cast<LPARAM>(&nMonitors));
        }
        QueryPerformanceCounter(&t2);
        g_question.push_back(BenchMs(t0, t1));
        g_questionReference.push_back(BenchMs(t1, t2));
    }
}

enum Step
{
    kStart,
    kOpen,
    kRight,
    kLeft,
    kClose,
    kDone
};
Step g_step = kStart;
int g_round = 0, g_rounds = 12, g_nShownBefore = 0, g_wait = 0;
LARGE_INTEGER g_sent;
std::vector<double> g_open, g_right, g_left;
bool g_failed = false;

void SendStep(Step step)
{
    g_step = step;
    g_nShownBefore = g_nShown;
    g_wait = 0;
    QueryPerformanceCounter(&g_sent);
    switch (step)
    {
    case kOpen:
        SendKeys({{VK_MENU, false}, {'F', false}, {'F', true}, {VK_MENU, true}});
        break;
    case kRight:
        SendKeys({{VK_RIGHT, false}, {VK_RIGHT, true}});
        break;
    case kLeft:
        SendKeys({{VK_LEFT, false}, {VK_LEFT, true}});
        break;
    case kClose:
        SendKeys({{VK_ESCAPE, false}, {VK_ESCAPE, true}});
        break;
    default:
        break;
    }
}

// One step per tick: each tick comes with the previous step's menu shown and painted.
VOID CALLBACK Drive(HWND, UINT, UINT_PTR nIDEvent, DWORD)
{
    CWnd* pMain = AfxGetMainWnd();
    if (pMain == nullptr || !::IsWindowVisible(pMain->GetSafeHwnd()))
        return;
    if (g_step == kStart)
    {
        // As a user would: the window active, the focus in the program list.
        ::SetForegroundWindow(pMain->GetSafeHwnd());
        ::SetActiveWindow(pMain->GetSafeHwnd());
        static_cast<CPurgeletDlg*>(pMain)->m_pageUninstall.m_pageView.m_pageList.m_wndList.SetFocus();
        ::SetCursorPos(1200, 1000);
        if (++g_wait < 10)
            return;
        SendStep(kOpen);
        return;
    }
    const bool bMenuStep = g_step == kOpen || g_step == kRight || g_step == kLeft;
    const bool bDone = bMenuStep ? g_nShown > g_nShownBefore : !CExtPopupMenuWnd::IsMenuTracking();
    if (!bDone)
    {
        if (++g_wait > 250)
        {  // about five seconds: the step never took effect
            g_failed = true;
            ::KillTimer(NULL, nIDEvent);
            ::PostMessageA(pMain->GetSafeHwnd(), WM_CLOSE, 0, 0);
        }
        return;
    }
    if (bMenuStep)
    {
        std::vector<double>& v = g_step == kOpen ? g_open : g_step == kRight ? g_right : g_left;
        v.push_back(BenchMs(g_sent, g_shown));
    }
    switch (g_step)
    {
    case kOpen:
        SendStep(kRight);
        break;
    case kRight:
        SendStep(kLeft);
        break;
    case kLeft:
        SendStep(kClose);
        break;
    default:
        if (++g_round < g_rounds)
        {
            SendStep(kOpen);
            break;
        }
        g_step = kDone;
        TimeQuestions(static_cast<CPurgeletDlg*>(pMain)->m_pageUninstall.m_pageView.m_pageList.m_wndList.GetSafeHwnd());
        ::KillTimer(NULL, nIDEvent);
        ::PostMessageA(pMain->GetSafeHwnd(), WM_CLOSE, 0, 0);
        break;
    }
}

}  // namespace

int main(int argc, char** argv)
{
    const int entries = BenchCountArg(argc, argv, 1, 400);
    g_rounds = BenchCountArg(argc, argv, 2, g_rounds);
    AfxWinInit(::GetModuleHandleA(NULL), NULL, const_cast<LPSTR>(""), SW_SHOWNORMAL);

    testsupport::RegistrySandbox box;
    if (!box.Override(HKEY_CURRENT_USER, "HKCU") || !box.Override(HKEY_LOCAL_MACHINE, "HKLM"))
    {
        std::printf("could not redirect the registry roots\n");
        return 1;
    }
    SeedPlainEntries("-MENU-", entries);
    const BenchFileKept groupsFile(GetGroupsFilePath());

    g_hook = ::SetWindowsHookExA(WH_CALLWNDPROC, WatchShow, NULL, ::GetCurrentThreadId());
    ::SetTimer(NULL, 0, 20, Drive);
    s_app.InitInstance();
    ::UnhookWindowsHookEx(g_hook);
    MSG quit;
    ::PeekMessageA(&quit, NULL, WM_QUIT, WM_QUIT, PM_REMOVE);

    box.RestoreOverrides();
    groupsFile.Restore();

    const double open = BenchMedian(g_open), right = BenchMedian(g_right), left = BenchMedian(g_left);
    std::printf("programs listed:       %d, rounds: %d of %d\n", entries, (int)g_left.size(), g_rounds);
    std::printf("Alt+F to File shown:   %.1f ms (median; reference)\n", open);
    std::printf("Right to Edit shown:   %.1f ms (median, worst %.1f)\n", right,
                g_right.empty() ? 0.0 : *std::max_element(g_right.begin(), g_right.end()));
    std::printf("Left to File shown:    %.1f ms (median, worst %.1f)\n", left,
                g_left.empty() ? 0.0 : *std::max_element(g_left.begin(), g_left.end()));
    if (open > 0.0)
        std::printf("ratio:                 %.2f Right, %.2f Left (to Alt+F; goal 1.0 or less)\n", right / open,
                    left / open);
    const double question = BenchMedian(g_question), questionReference = BenchMedian(g_questionReference);
    std::printf("on-screen question x24: %.3f ms (median of %d; list on screen in %d of %d answers)\n", question,
                (int)g_question.size(), g_nOnScreen, (int)(g_question.size() + g_questionReference.size()) * 24);
    std::printf("  monitors asked each: %.3f ms (reference: the question before the work areas were kept)\n",
                questionReference);
    if (questionReference > 0.0)
        std::printf("ratio:                 %.2f (question / reference)\n", question / questionReference);
    return g_failed || g_left.empty() ? 2 : 0;
}
