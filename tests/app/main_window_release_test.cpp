// A click on a box of the real program is judged where the hand released it: the
// window's thread is held while the hand presses, releases and moves on, as a busy
// machine holds it, and takes the input only afterwards.
#include "main_window_fixture.h"
#include "owned_box.h"
#include "res/resource.h"
#include <gtest/gtest.h>
#include <atomic>

using mainwindowtest::NoGroupsFixture;
using ownedbox::BoxWatcher;
using realinput::SendMouse;

namespace {

// Watches the thread that makes it (through its hooks): counts the clicks of OK buttons
// (BN_CLICKED sent to their box), holds the thread on a kHold message posted to any of
// its windows until Release, and notes when the thread takes the move made at s_ptLast, the
// hand's last: whatever came before it has been handled by then.
class HandWatch
{
public:
    HandWatch() { s_nClicks = 0, s_bTaken = false; }
    ~HandWatch()
    {
        Release();
        ::UnhookWindowsHookEx(m_hSent);
        ::UnhookWindowsHookEx(m_hTaken);
    }
    // From another thread: answers once the thread is held. A posted message comes
    // before any input queued meanwhile.
    static bool Hold(HWND hWnd)
    {
        ::ResetEvent(s_hRelease);
        ::PostMessageA(hWnd, kHold, 0, 0);
        return ::WaitForSingleObject(s_hHeld, ownedbox::kBoxWaitMs) == WAIT_OBJECT_0;
    }
    static void Release() { ::SetEvent(s_hRelease); }
    static inline std::atomic<int> s_nClicks{0};
    static inline std::atomic<bool> s_bTaken{false};
    static inline POINT s_ptLast = {-1, -1};

private:
    static inline const UINT kHold = ::RegisterWindowMessageA("PurgeletTestHoldThread");
    static inline const HANDLE s_hHeld = ::CreateEventA(NULL, FALSE, FALSE, NULL);
    static inline const HANDLE s_hRelease = ::CreateEventA(NULL, TRUE, FALSE, NULL);
    static LRESULT CALLBACK Sent(int nCode, WPARAM wParam, LPARAM lParam)
    {
        const CWPSTRUCT* p = (const CWPSTRUCT*)lParam;
        if (nCode == HC_ACTION && p->message == WM_COMMAND && p->wParam == MAKEWPARAM(IDOK, BN_CLICKED) && p->lParam != 0)
            ++s_nClicks;
        return ::CallNextHookEx(NULL, nCode, wParam, lParam);
    }
    static LRESULT CALLBACK Taken(int nCode, WPARAM wParam, LPARAM lParam)
    {
        const MSG* p = (const MSG*)lParam;
        if (nCode == HC_ACTION && p->message == WM_MOUSEMOVE && p->pt.x == s_ptLast.x && p->pt.y == s_ptLast.y)
            s_bTaken = true;
        if (nCode == HC_ACTION && wParam == PM_REMOVE && p->message == kHold) {
            ::SetEvent(s_hHeld);
            ::WaitForSingleObject(s_hRelease, ownedbox::kBoxWaitMs);
        }
        return ::CallNextHookEx(NULL, nCode, wParam, lParam);
    }
    HHOOK m_hSent = ::SetWindowsHookExA(WH_CALLWNDPROC, Sent, NULL, ::GetCurrentThreadId());
    HHOOK m_hTaken = ::SetWindowsHookExA(WH_GETMESSAGE, Taken, NULL, ::GetCurrentThreadId());
};

class MainWindowReleaseTest : public NoGroupsFixture
{
};

}  // namespace

// Options' OK: a release made on it while the thread is held, the pointer moved away
// before the thread runs, still clicks (the options are taken); one made beside it,
// the pointer moved onto it before the thread runs, does not.
TEST_F(MainWindowReleaseTest, OptionsOkIsJudgedWhereTheHandReleasedIt)
{
    enum { OnOk, BesideOk, Away };
    const struct
    {
        const char* what;
        int nRelease, nAfter;  // where the hand releases, where the pointer goes then
        int nClicks;
    } cases[] = {
        {"released on OK, the pointer moved away", OnOk, Away, 1},
        {"released beside OK, the pointer moved onto it", BesideOk, OnOk, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_TRUE(Run([&](CPurgeletDlg& dlg) {
            HandWatch watch;
            BoxWatcher options(dlg.GetSafeHwnd(), [&](HWND hBox) {
                const HWND hOk = ::GetDlgItem(hBox, IDOK);
                GUITHREADINFO info;
                ASSERT_TRUE(realinput::SleepUntil(
                    [&] { return realinput::ThreadInputOf(hBox, info) && info.hwndActive == hBox; },
                    ownedbox::kBoxWaitMs));
                CRect rc;
                ::GetWindowRect(hOk, &rc);
                const POINT pts[] = {realinput::OnScreen(rc.CenterPoint()),
                                     realinput::OnScreen({rc.CenterPoint().x, rc.bottom + 12}),
                                     realinput::OnScreen({rc.left - 40, rc.top - 40})};
                // A control the pointer rests on holds the mouse while it hovers, and a late echo
                // of an earlier move can put the pointer back on one: the press waits until the
                // system has it on OK, moving it there again (from beside) while it is elsewhere.
                SendMouse(0, pts[Away]);
                EXPECT_TRUE(realinput::SleepUntil(
                    [&] {
                        if (!realinput::CursorAt(pts[OnOk]))
                            SendMouse(0, {pts[OnOk].x + 1, pts[OnOk].y}), SendMouse(0, pts[OnOk]);
                        return realinput::CursorAt(pts[OnOk]) && realinput::ThreadInputOf(hBox, info) &&
                               (info.hwndCapture == NULL || info.hwndCapture == hOk);
                    },
                    ownedbox::kBoxWaitMs));
                SendMouse(MOUSEEVENTF_LEFTDOWN, pts[OnOk]);
                EXPECT_TRUE(realinput::SleepUntil(
                    [&] { return realinput::ThreadInputOf(hBox, info) && info.hwndCapture == hOk; },
                    ownedbox::kBoxWaitMs));
                HandWatch::s_ptLast = pts[c.nAfter];
                HandWatch::s_bTaken = false;
                ASSERT_TRUE(HandWatch::Hold(hBox));
                SendMouse(0, pts[c.nRelease]);
                SendMouse(MOUSEEVENTF_LEFTUP, pts[c.nRelease]);
                SendMouse(0, pts[c.nAfter]);
                HandWatch::Release();
                EXPECT_TRUE(realinput::SleepUntil([] { return HandWatch::s_bTaken.load(); }, ownedbox::kBoxWaitMs));
                if (::IsWindow(hBox) && ::IsWindowVisible(hBox))
                    ::PostMessageA(hBox, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
            });
            dlg.SendMessage(WM_COMMAND, ID_VIEW_OPTIONS, 0);
            options.Join();
            EXPECT_TRUE(options.m_bFound.load());
            EXPECT_EQ(c.nClicks, HandWatch::s_nClicks.load());
        }));
    }
}
