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

// Holds the thread that made it: a message posted to its window keeps the thread in
// the window's procedure until Release, while input queues behind it.
class ThreadHold
{
public:
    ThreadHold()
    {
        static const char* const kClass = [] {
            WNDCLASSA wc = {};
            wc.lpfnWndProc = Proc;
            wc.hInstance = ::GetModuleHandleA(NULL);
            wc.lpszClassName = "PurgeletTestThreadHold";
            ::RegisterClassA(&wc);
            return "PurgeletTestThreadHold";
        }();
        m_hWnd = ::CreateWindowA(kClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE, NULL, ::GetModuleHandleA(NULL), NULL);
        ::SetWindowLongPtrA(m_hWnd, GWLP_USERDATA, (LONG_PTR)this);
    }
    ~ThreadHold()
    {
        Release();
        ::DestroyWindow(m_hWnd);
        ::CloseHandle(m_hHeld);
        ::CloseHandle(m_hRelease);
    }
    // From another thread: answers once the thread is held.
    bool Hold()
    {
        ::ResetEvent(m_hRelease);
        ::PostMessageA(m_hWnd, WM_APP, 0, 0);
        return ::WaitForSingleObject(m_hHeld, ownedbox::kBoxWaitMs) == WAIT_OBJECT_0;
    }
    void Release() { ::SetEvent(m_hRelease); }

private:
    static LRESULT CALLBACK Proc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam)
    {
        ThreadHold* pHold = (ThreadHold*)::GetWindowLongPtrA(hWnd, GWLP_USERDATA);
        if (nMsg != WM_APP || pHold == NULL) return ::DefWindowProcA(hWnd, nMsg, wParam, lParam);
        ::SetEvent(pHold->m_hHeld);
        ::WaitForSingleObject(pHold->m_hRelease, ownedbox::kBoxWaitMs);
        return 0;
    }
    HWND m_hWnd = NULL;
    HANDLE m_hHeld = ::CreateEventA(NULL, FALSE, FALSE, NULL), m_hRelease = ::CreateEventA(NULL, TRUE, FALSE, NULL);
};

// On the thread that makes it: counts the clicks of OK buttons (BN_CLICKED sent to
// their box) and notes when the thread takes a mouse move made at a point.
class ClickWatch
{
public:
    explicit ClickWatch()
    {
        Clicks() = 0;
        Taken() = false;
        m_hSent = ::SetWindowsHookExA(WH_CALLWNDPROC, Sent, NULL, ::GetCurrentThreadId());
        m_hTaken = ::SetWindowsHookExA(WH_GETMESSAGE, TakenProc, NULL, ::GetCurrentThreadId());
    }
    ~ClickWatch()
    {
        ::UnhookWindowsHookEx(m_hSent);
        ::UnhookWindowsHookEx(m_hTaken);
    }
    static std::atomic<int>& Clicks()
    {
        static std::atomic<int> n{0};
        return n;
    }
    // Whether the thread took a move made at Awaited(), the hand's last: whatever came
    // before it has been handled.
    static std::atomic<bool>& Taken()
    {
        static std::atomic<bool> b{false};
        return b;
    }
    static POINT& Awaited()
    {
        static POINT pt = {-1, -1};
        return pt;
    }

private:
    static LRESULT CALLBACK Sent(int nCode, WPARAM wParam, LPARAM lParam)
    {
        const CWPSTRUCT* p = (const CWPSTRUCT*)lParam;
        if (nCode == HC_ACTION && p->message == WM_COMMAND && p->wParam == MAKEWPARAM(IDOK, BN_CLICKED) &&
            p->lParam != 0)
            ++Clicks();
        return ::CallNextHookEx(NULL, nCode, wParam, lParam);
    }
    static LRESULT CALLBACK TakenProc(int nCode, WPARAM wParam, LPARAM lParam)
    {
        const MSG* p = (const MSG*)lParam;
        if (nCode == HC_ACTION && p->message == WM_MOUSEMOVE && p->pt.x == Awaited().x && p->pt.y == Awaited().y)
            Taken() = true;
        return ::CallNextHookEx(NULL, nCode, wParam, lParam);
    }
    HHOOK m_hSent, m_hTaken;
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
    const struct
    {
        const char* what;
        bool bReleasedOnOk;
        int nClicks;
    } cases[] = {
        {"released on OK, the pointer moved away", true, 1},
        {"released beside OK, the pointer moved onto it", false, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_TRUE(Run([&](CPurgeletDlg& dlg) {
            ThreadHold hold;
            ClickWatch watch;
            BoxWatcher options(dlg.GetSafeHwnd(), [&](HWND hBox) {
                const HWND hOk = ::GetDlgItem(hBox, IDOK);
                GUITHREADINFO info;
                ASSERT_TRUE(realinput::SleepUntil(
                    [&] { return realinput::ThreadInputOf(hBox, info) && info.hwndActive == hBox; },
                    ownedbox::kBoxWaitMs));
                CRect rcOk;
                ::GetWindowRect(hOk, &rcOk);
                const POINT ptOk = SendMouse(0, rcOk.CenterPoint());
                const POINT ptBeside = realinput::OnScreen({rcOk.CenterPoint().x, rcOk.bottom + 12});
                const POINT ptAway = realinput::OnScreen({rcOk.left - 40, rcOk.top - 40});
                if (!c.bReleasedOnOk) {
                    SendMouse(MOUSEEVENTF_LEFTDOWN, ptOk);
                    EXPECT_TRUE(realinput::SleepUntil(
                        [&] { return realinput::ThreadInputOf(hBox, info) && info.hwndCapture == hOk; },
                        ownedbox::kBoxWaitMs));
                }
                ClickWatch::Awaited() = c.bReleasedOnOk ? ptAway : ptOk;
                ASSERT_TRUE(hold.Hold());
                if (c.bReleasedOnOk) {
                    SendMouse(MOUSEEVENTF_LEFTDOWN, ptOk);
                    SendMouse(MOUSEEVENTF_LEFTUP, ptOk);
                    SendMouse(0, ptAway);
                } else {
                    SendMouse(0, ptBeside);
                    SendMouse(MOUSEEVENTF_LEFTUP, ptBeside);
                    SendMouse(0, ptOk);
                }
                hold.Release();
                EXPECT_TRUE(realinput::SleepUntil([] { return ClickWatch::Taken().load(); }, ownedbox::kBoxWaitMs));
                if (::IsWindow(hBox) && ::IsWindowVisible(hBox))
                    ::PostMessageA(hBox, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
            });
            dlg.SendMessage(WM_COMMAND, ID_VIEW_OPTIONS, 0);
            options.Join();
            EXPECT_TRUE(options.m_bFound.load());
            EXPECT_EQ(c.nClicks, ClickWatch::Clicks().load());
        }));
    }
}
