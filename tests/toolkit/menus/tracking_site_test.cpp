// The tracking site: registering a tree, ending and cancelling tracking, the nested
// pump, the routing rules of the thread hooks and the window-relationship test.
#include <gtest/gtest.h>

#include "framework/framework.h"
#include "support/message_pump.h"
#include "toolkit/menus/popup_menu_wnd.h"

#include <vector>

namespace {

int g_nMenusDeleted = 0;

// A menu that records what the hooks hand it.
class ProbeMenu : public CExtPopupMenuWnd
{
public:
    ~ProbeMenu() override { g_nMenusDeleted++; }
    bool OnMouseMoveTracked(UINT, CPoint pt, bool&) override
    {
        m_moves.push_back(pt);
        return m_bEatMoves;
    }
    bool OnMouseClickTracked(UINT nMsg, CPoint, bool& bNoEat) override
    {
        m_clicks.push_back(nMsg);
        bNoEat = m_bNoEatClicks;
        return m_bEatClicks;
    }
    bool OnKeyDown(UINT nChar, UINT, UINT, bool& bNoEat) override
    {
        m_keys.push_back(nChar);
        bNoEat = m_bNoEatKeys;
        return m_bEatKeys;
    }
    bool CreateAt(int x, int y, int cx, int cy)
    {
        return CreateEx(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, AfxRegisterWndClass(0), _T(""), WS_POPUP, x, y, cx, cy,
                        NULL, 0) != FALSE;
    }

    std::vector<CPoint> m_moves;
    std::vector<UINT> m_clicks;
    std::vector<UINT> m_keys;
    bool m_bEatMoves = true, m_bEatClicks = false, m_bNoEatClicks = false;
    bool m_bEatKeys = true, m_bNoEatKeys = false;
};

UINT g_nClosedNotifications = 0;
LPARAM g_lParamClosed = 0;

LRESULT CALLBACK ReceiverProc(HWND h, UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == CExtPopupMenuWnd::g_nMsgNotifyMenuClosed)
    {
        g_nClosedNotifications++;
        g_lParamClosed = lp;
        return 0;
    }
    return ::DefWindowProcA(h, msg, wp, lp);
}

class TrackingSiteTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = ReceiverProc;
        wc.hInstance = ::GetModuleHandle(NULL);
        wc.lpszClassName = "TrackingSiteReceiver";
        ::RegisterClassA(&wc);
        m_hWndRecv = ::CreateWindowA("TrackingSiteReceiver", "", WS_POPUP, 0, 0, 10, 10, NULL, NULL, NULL, NULL);
        ASSERT_NE(m_hWndRecv, nullptr);
        g_nMenusDeleted = 0;
        g_nClosedNotifications = 0;
        g_lParamClosed = 0;
    }
    void TearDown() override
    {
        CExtPopupMenuWnd::CancelMenuTracking();
        ::DestroyWindow(m_hWndRecv);
        testsupport::PumpPending();
    }
    // A top-level menu with a window, registered as the tracked tree and current popup.
    ProbeMenu* TrackNew(int x = 200, int y = 200)
    {
        ProbeMenu* pMenu = new ProbeMenu;
        pMenu->CreatePopupMenu(m_hWndRecv);
        EXPECT_TRUE(pMenu->CreateAt(x, y, 80, 60));
        ::ShowWindow(pMenu->GetSafeHwnd(), SW_SHOWNA);
        g_PopupTrackingSite.SetInstance(pMenu);
        g_PopupTrackingSite.SetCurrentPopup(pMenu);
        return pMenu;
    }
    static MOUSEHOOKSTRUCT HookData(int x, int y)
    {
        MOUSEHOOKSTRUCT mhs = {};
        mhs.pt.x = x;
        mhs.pt.y = y;
        return mhs;
    }

    HWND m_hWndRecv = NULL;
};

}  // namespace

TEST_F(TrackingSiteTest, RegisteringInstallsHooksAndEndingDeletesTheTree)
{
    EXPECT_TRUE(g_PopupTrackingSite.IsEmpty());
    EXPECT_FALSE(CExtPopupMenuWnd::IsMenuTracking());
    EXPECT_FALSE(g_PopupTrackingSite.AreHooksInstalled());

    ProbeMenu* pMenu = TrackNew();
    HWND hWndMenu = pMenu->GetSafeHwnd();
    EXPECT_TRUE(CExtPopupMenuWnd::IsMenuTracking());
    EXPECT_TRUE(g_PopupTrackingSite.IsTopMenu(pMenu));
    EXPECT_TRUE(g_PopupTrackingSite.AreHooksInstalled());
    EXPECT_EQ(CExtPopupMenuWnd::GetTrackingMenu(), pMenu);
    UINT nResult = 0;
    g_PopupTrackingSite.SetResultCmdIdPtr(&nResult);

    // Registering the same menu again changes nothing.
    g_PopupTrackingSite.SetInstance(pMenu);
    EXPECT_EQ(g_nMenusDeleted, 0);
    EXPECT_EQ(g_PopupTrackingSite.GetResultCmdIdPtr(), &nResult);

    // A second tree ends the first one.
    ProbeMenu* pSecond = TrackNew(300, 300);
    EXPECT_EQ(g_nMenusDeleted, 1);
    EXPECT_FALSE(::IsWindow(hWndMenu));
    EXPECT_EQ(g_nClosedNotifications, 1u) << "the root's window told its receiver it closed";
    EXPECT_EQ(g_lParamClosed, (LPARAM)pMenu);
    EXPECT_TRUE(g_PopupTrackingSite.IsTopMenu(pSecond));
    EXPECT_EQ(g_PopupTrackingSite.GetResultCmdIdPtr(), nullptr);

    CExtPopupMenuWnd::CancelMenuTracking();
    EXPECT_EQ(g_nMenusDeleted, 2);
    EXPECT_TRUE(g_PopupTrackingSite.IsEmpty());
    EXPECT_FALSE(g_PopupTrackingSite.AreHooksInstalled());
    EXPECT_EQ(g_PopupTrackingSite.GetCurrentPopup(), nullptr);
    EXPECT_FALSE(g_PopupTrackingSite.IsShutdownMode());
}

TEST_F(TrackingSiteTest, ClosingTheRootWindowEndsTracking)
{
    ProbeMenu* pMenu = TrackNew();
    ::PostMessage(pMenu->GetSafeHwnd(), WM_CLOSE, 0, 0);
    testsupport::PumpPending();
    EXPECT_EQ(g_nMenusDeleted, 1);
    EXPECT_TRUE(g_PopupTrackingSite.IsEmpty());
    EXPECT_FALSE(g_PopupTrackingSite.AreHooksInstalled());
    EXPECT_EQ(g_nClosedNotifications, 1u);
}

TEST_F(TrackingSiteTest, CancelDoesNothingDuringTearOffOrShutdown)
{
    TrackNew();
    CExtPopupMenuWnd::TEAROFFNOTIFICATON* pFakeTearOff = (CExtPopupMenuWnd::TEAROFFNOTIFICATON*)(void*)this;
    g_pActiveTearOff = pFakeTearOff;
    CExtPopupMenuWnd::CancelMenuTracking();
    g_pActiveTearOff = NULL;
    EXPECT_FALSE(g_PopupTrackingSite.IsEmpty()) << "a tear-off drag keeps the tracking";

    g_PopupTrackingSite.m_nFlags |= CExtPopupTrackingSite::__FLAG_SHUTDOWN;
    CExtPopupMenuWnd::CancelMenuTracking();
    g_PopupTrackingSite.m_nFlags &= ~CExtPopupTrackingSite::__FLAG_SHUTDOWN;
    EXPECT_FALSE(g_PopupTrackingSite.IsEmpty()) << "cancelling while shutting down does nothing";

    CExtPopupMenuWnd::CancelMenuTracking();
    EXPECT_TRUE(g_PopupTrackingSite.IsEmpty());
    EXPECT_EQ(g_nMenusDeleted, 1);
}

TEST_F(TrackingSiteTest, CancelModeOfAMenuWindowEndsTracking)
{
    ProbeMenu* pMenu = TrackNew();
    ::SendMessage(pMenu->GetSafeHwnd(), WM_CANCELMODE, 0, 0);
    EXPECT_TRUE(g_PopupTrackingSite.IsEmpty());
    EXPECT_EQ(g_nMenusDeleted, 1);
}

TEST_F(TrackingSiteTest, MouseHookRoutesToTheCurrentPopup)
{
    ProbeMenu* pMenu = TrackNew(200, 200);
    MOUSEHOOKSTRUCT mhs = HookData(215, 230);
    EXPECT_TRUE(g_PopupTrackingSite.OnMouseHookEvent(WM_MOUSEMOVE, &mhs));
    ASSERT_EQ(pMenu->m_moves.size(), 1u);
    EXPECT_EQ(pMenu->m_moves[0], CPoint(15, 30)) << "the point arrives in the popup's client coordinates";
    pMenu->m_bEatMoves = false;
    EXPECT_FALSE(g_PopupTrackingSite.OnMouseHookEvent(WM_MOUSEMOVE, &mhs));

    // The wheel is eaten and never scrolls a menu.
    EXPECT_TRUE(g_PopupTrackingSite.OnMouseHookEvent(WM_MOUSEWHEEL, &mhs));
    // Other mouse messages pass.
    EXPECT_FALSE(g_PopupTrackingSite.OnMouseHookEvent(WM_LBUTTONDBLCLK, &mhs));

    // A click on the menu is eaten and closes nothing.
    EXPECT_TRUE(g_PopupTrackingSite.OnMouseHookEvent(WM_LBUTTONUP, &mhs));
    EXPECT_EQ(pMenu->m_clicks.size(), 1u);
    EXPECT_TRUE(::IsWindow(pMenu->GetSafeHwnd()));

    // The popup's own no-eat answer passes the click on.
    pMenu->m_bNoEatClicks = true;
    EXPECT_FALSE(g_PopupTrackingSite.OnMouseHookEvent(WM_LBUTTONUP, &mhs));
    EXPECT_TRUE(::IsWindow(pMenu->GetSafeHwnd()));
}

TEST_F(TrackingSiteTest, ClickOutsideClosesTheMenusAndPassesPressesOnly)
{
    struct Case
    {
        UINT nMsg;
        bool bEatOutside;
        bool bEaten;
    } cases[] = {
        {WM_LBUTTONDOWN, true, false}, {WM_RBUTTONDOWN, true, false}, {WM_MBUTTONDOWN, true, false},
        {WM_RBUTTONUP, true, true},    {WM_NCLBUTTONDOWN, true, true}, {WM_RBUTTONUP, false, false},
    };
    for (const Case& c : cases)
    {
        CExtPopupMenuWnd::g_bEatClicksOutside = c.bEatOutside;
        ProbeMenu* pMenu = TrackNew(200, 200);
        MOUSEHOOKSTRUCT mhs = HookData(600, 500);
        bool bEaten = g_PopupTrackingSite.OnMouseHookEvent(c.nMsg, &mhs);
        EXPECT_EQ(bEaten, c.bEaten) << "message 0x" << std::hex << c.nMsg << " eat-outside " << c.bEatOutside;
        EXPECT_FALSE(::IsWindow(pMenu->GetSafeHwnd())) << "message 0x" << std::hex << c.nMsg;
        testsupport::PumpPending();
        EXPECT_TRUE(g_PopupTrackingSite.IsEmpty()) << "message 0x" << std::hex << c.nMsg;
    }
    CExtPopupMenuWnd::g_bEatClicksOutside = true;
}

TEST_F(TrackingSiteTest, MouseHookWithoutUsablePopupOrSite)
{
    MOUSEHOOKSTRUCT mhs = HookData(10, 10);
    EXPECT_FALSE(g_PopupTrackingSite.OnMouseHookEvent(WM_LBUTTONDOWN, &mhs)) << "nothing tracks: pass";
    TrackNew();
    g_PopupTrackingSite.SetCurrentPopup(NULL);
    EXPECT_TRUE(g_PopupTrackingSite.OnMouseHookEvent(WM_MOUSEMOVE, &mhs)) << "no current popup: eat";
}

TEST_F(TrackingSiteTest, KeyboardHookRoutesThrottlesAndEatsReleases)
{
    ProbeMenu* pMenu = TrackNew();
    const int nInterval = CExtPopupTrackingSite::g_nKeyInterval;
    EXPECT_TRUE(g_PopupTrackingSite.OnKeyboardHookEvent(VK_DOWN, 1));
    ASSERT_EQ(pMenu->m_keys.size(), 1u);
    EXPECT_EQ(pMenu->m_keys[0], (UINT)VK_DOWN);

    EXPECT_TRUE(g_PopupTrackingSite.OnKeyboardHookEvent(VK_DOWN, 1 | 0xC0000000)) << "a release is eaten";
    EXPECT_EQ(pMenu->m_keys.size(), 1u);

    // A held key's auto-repeat that follows the previous key too soon never reaches the
    // menu; a key pressed anew always does.
    CExtPopupTrackingSite::g_nKeyInterval = 1000000;
    EXPECT_TRUE(g_PopupTrackingSite.OnKeyboardHookEvent(VK_DOWN, 1 | 0x40000000));
    EXPECT_EQ(pMenu->m_keys.size(), 1u);
    EXPECT_TRUE(g_PopupTrackingSite.OnKeyboardHookEvent(VK_UP, 1));
    ASSERT_EQ(pMenu->m_keys.size(), 2u);
    EXPECT_EQ(pMenu->m_keys[1], (UINT)VK_UP);
    CExtPopupTrackingSite::g_nKeyInterval = nInterval;

    // The menu's no-eat answer passes the key on.
    pMenu->m_bEatKeys = false;
    pMenu->m_bNoEatKeys = true;
    EXPECT_FALSE(g_PopupTrackingSite.OnKeyboardHookEvent('A', 1));
    EXPECT_EQ(pMenu->m_keys.size(), 3u);
}

TEST_F(TrackingSiteTest, ModifierReleaseWithoutCurrentPopupCancels)
{
    TrackNew();
    g_PopupTrackingSite.SetCurrentPopup(NULL);
    EXPECT_TRUE(g_PopupTrackingSite.OnKeyboardHookEvent('A', 1)) << "a press is eaten";
    EXPECT_TRUE(g_PopupTrackingSite.OnKeyboardHookEvent('A', 1 | 0xC0000000)) << "a plain release is eaten";
    EXPECT_FALSE(g_PopupTrackingSite.IsEmpty());
    // A release in Alt context cancels and passes.
    EXPECT_FALSE(g_PopupTrackingSite.OnKeyboardHookEvent(VK_MENU, 1 | 0xC0000000 | (1 << 29)));
    EXPECT_TRUE(g_PopupTrackingSite.IsEmpty());
    EXPECT_EQ(g_nMenusDeleted, 1);
}

namespace {
// A shown window that is foreground and holds the focus: real key input goes to it.
HWND FocusedWindow()
{
    HWND hWnd = ::CreateWindowA("TrackingSiteReceiver", "", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 50, 100, 100, NULL,
                                NULL, NULL, NULL);
    if (hWnd == NULL)
        return NULL;
    ::SetForegroundWindow(hWnd);
    ::SetActiveWindow(hWnd);
    ::SetFocus(hWnd);
    testsupport::PumpPending();
    return hWnd;
}
}  // namespace

TEST_F(TrackingSiteTest, RealKeyboardInputReachesTheMenuThroughTheHook)
{
    HWND hWndFocus = FocusedWindow();
    ASSERT_NE(hWndFocus, nullptr);
    ProbeMenu* pMenu = TrackNew();
    INPUT in[2] = {};
    in[0].type = in[1].type = INPUT_KEYBOARD;
    in[0].ki.wVk = in[1].ki.wVk = VK_F8;
    in[1].ki.dwFlags = KEYEVENTF_KEYUP;
    ASSERT_EQ(::SendInput(2, in, sizeof(INPUT)), 2u);
    testsupport::PumpUntil([&] { return !pMenu->m_keys.empty(); });
    ASSERT_EQ(pMenu->m_keys.size(), 1u) << "the press reached the menu, the release did not";
    EXPECT_EQ(pMenu->m_keys[0], (UINT)VK_F8);
    CExtPopupMenuWnd::CancelMenuTracking();
    ::DestroyWindow(hWndFocus);
}

TEST_F(TrackingSiteTest, AKeyTypedWhileTheMenuShutsDownStaysQueuedForWhatTracksNext)
{
    HWND hWndFocus = FocusedWindow();
    ASSERT_NE(hWndFocus, nullptr);
    TrackNew();
    INPUT in = {};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = VK_F8;
    ASSERT_EQ(::SendInput(1, &in, sizeof(INPUT)), 1u);
    MSG msg;
    // Wait for the press to be queued without taking it (the hook runs only when it is taken).
    const DWORD start = ::GetTickCount();
    while (!::PeekMessage(&msg, NULL, WM_KEYDOWN, WM_KEYDOWN, PM_NOREMOVE) && ::GetTickCount() - start < 5000)
        ::MsgWaitForMultipleObjects(0, NULL, FALSE, 10, QS_KEY);
    CExtPopupMenuWnd::CancelMenuTracking();
    ASSERT_TRUE(::PeekMessage(&msg, NULL, WM_KEYDOWN, WM_KEYDOWN, PM_REMOVE)) << "the press is still queued";
    EXPECT_EQ(msg.wParam, (WPARAM)VK_F8);
    in.ki.dwFlags = KEYEVENTF_KEYUP;
    ::SendInput(1, &in, sizeof(INPUT));
    testsupport::PumpPending();
    ::DestroyWindow(hWndFocus);
}

namespace {
UINT g_nTargetDowns = 0;
LRESULT CALLBACK TargetProc(HWND h, UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == WM_LBUTTONDOWN)
        g_nTargetDowns++;
    return ::DefWindowProcA(h, msg, wp, lp);
}
}  // namespace

TEST_F(TrackingSiteTest, RealClickOutsideClosesTheTreeAndReachesTheWindowUnderIt)
{
    WNDCLASSA wc = {};
    wc.lpfnWndProc = TargetProc;
    wc.hInstance = ::GetModuleHandle(NULL);
    wc.lpszClassName = "TrackingSiteClickTarget";
    ::RegisterClassA(&wc);
    HWND hWndTarget = ::CreateWindowA("TrackingSiteClickTarget", "", WS_POPUP | WS_VISIBLE, 500, 400, 120, 80, NULL,
                                      NULL, NULL, NULL);
    ASSERT_NE(hWndTarget, nullptr);
    ::SetForegroundWindow(hWndTarget);
    testsupport::PumpPending();
    g_nTargetDowns = 0;
    ProbeMenu* pMenu = TrackNew(200, 200);
    HWND hWndMenu = pMenu->GetSafeHwnd();

    const int cxScreen = ::GetSystemMetrics(SM_CXSCREEN), cyScreen = ::GetSystemMetrics(SM_CYSCREEN);
    INPUT in[3] = {};
    for (INPUT& i : in)
    {
        i.type = INPUT_MOUSE;
        i.mi.dx = (560 * 65536 + cxScreen - 1) / cxScreen;
        i.mi.dy = (440 * 65536 + cyScreen - 1) / cyScreen;
    }
    in[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    in[1].mi.dwFlags = MOUSEEVENTF_LEFTDOWN | MOUSEEVENTF_ABSOLUTE;
    in[2].mi.dwFlags = MOUSEEVENTF_LEFTUP | MOUSEEVENTF_ABSOLUTE;
    ASSERT_EQ(::SendInput(3, in, sizeof(INPUT)), 3u);
    testsupport::PumpUntil([&] { return g_PopupTrackingSite.IsEmpty() && g_nTargetDowns > 0; });
    EXPECT_TRUE(g_PopupTrackingSite.IsEmpty()) << "the click outside ended the tracking";
    EXPECT_FALSE(::IsWindow(hWndMenu));
    EXPECT_EQ(g_nTargetDowns, 1u) << "the press still reached the window under the pointer";
    ::DestroyWindow(hWndTarget);
}

namespace {

class IdleThread : public CWinThread
{
public:
    BOOL OnIdle(LONG lCount) override
    {
        m_counts.push_back(lCount);
        return lCount < 2;
    }
    std::vector<LONG> m_counts;
};

}  // namespace

TEST(PopupMessagePump, DrainsTheQueueRunsIdleAndKeepsQuit)
{
    IdleThread thread;
    thread.m_nThreadID = ::GetCurrentThreadId();
    _AFX_THREAD_STATE* pState = AfxGetThreadState();
    CWinThread* pOld = pState->m_pCurrentWinThread;
    pState->m_pCurrentWinThread = &thread;

    ::PostThreadMessage(::GetCurrentThreadId(), WM_USER + 11, 0, 0);
    CExtPopupMenuWnd::stat_PumpPendingMessages(false);
    MSG msg;
    EXPECT_FALSE(::PeekMessage(&msg, NULL, 0, 0, PM_NOREMOVE)) << "the queue is drained";
    EXPECT_TRUE(thread.m_counts.empty()) << "no idle processing unless asked";

    CExtPopupMenuWnd::stat_PumpPendingMessages(true);
    EXPECT_EQ(thread.m_counts, (std::vector<LONG>{0, 1, 2}));

    // WM_QUIT met inside the pump is put back for the outer loop, without idle work.
    thread.m_counts.clear();
    ::PostQuitMessage(0);
    CExtPopupMenuWnd::stat_PumpPendingMessages(true);
    EXPECT_TRUE(thread.m_counts.empty());
    bool bQuit = false;
    while (::PeekMessage(&msg, NULL, 0, 0, PM_REMOVE))
        bQuit = bQuit || msg.message == WM_QUIT;
    EXPECT_TRUE(bQuit);

    pState->m_pCurrentWinThread = pOld;
}

TEST(PopupWindowRelations, WindowsShareAVisibleOrPopupAncestor)
{
    HWND hTop = ::CreateWindowA("STATIC", "", WS_POPUP | WS_VISIBLE, 0, 0, 100, 100, NULL, NULL, NULL, NULL);
    HWND hA = ::CreateWindowA("STATIC", "", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, hTop, NULL, NULL, NULL);
    HWND hB = ::CreateWindowA("STATIC", "", WS_CHILD | WS_VISIBLE, 20, 0, 10, 10, hTop, NULL, NULL, NULL);
    HWND hOther = ::CreateWindowA("STATIC", "", WS_POPUP | WS_VISIBLE, 0, 0, 10, 10, NULL, NULL, NULL, NULL);
    HWND hOtherChild = ::CreateWindowA("STATIC", "", WS_CHILD | WS_VISIBLE, 0, 0, 5, 5, hOther, NULL, NULL, NULL);

    EXPECT_TRUE(CExtPopupMenuWnd::stat_TestWindowsShareParent(hA, hB, true, true, false));
    EXPECT_TRUE(CExtPopupMenuWnd::stat_TestWindowsShareParent(hA, hTop, false, false, false));
    EXPECT_FALSE(CExtPopupMenuWnd::stat_TestWindowsShareParent(hA, hOtherChild, false, false, false));
    EXPECT_FALSE(CExtPopupMenuWnd::stat_TestWindowsShareParent(hTop, hA, false, false, false)) << "no parent";
    EXPECT_FALSE(CExtPopupMenuWnd::stat_TestWindowsShareParent(hA, NULL, false, false, false));
    ::EnableWindow(hB, FALSE);
    EXPECT_FALSE(CExtPopupMenuWnd::stat_TestWindowsShareParent(hA, hB, true, false, false));
    EXPECT_TRUE(CExtPopupMenuWnd::stat_TestWindowsShareParent(hA, hB, false, false, false));
    ::ShowWindow(hB, SW_HIDE);
    EXPECT_FALSE(CExtPopupMenuWnd::stat_TestWindowsShareParent(hA, hB, false, true, false));

    ::DestroyWindow(hOther);
    ::DestroyWindow(hTop);
}

TEST(PopupModifierKeys, AltContextBitCounts)
{
    EXPECT_TRUE(CExtPopupMenuWnd::IsModifierKeyDown(1 << 29));
    EXPECT_FALSE(CExtPopupMenuWnd::IsModifierKeyDown(0)) << "no modifier is held in the test";
}

TEST(PopupRegisteredMessages, EachIsRegisteredUnderItsOwnName)
{
    struct
    {
        UINT nMsg;
        const char* sName;
    } msgs[] = {
        {CExtPopupMenuWnd::g_nMsgPrepareMenu, "CExtPopupMenuWnd::g_nMsgPrepareMenu"},
        {CExtPopupMenuWnd::g_nMsgPrepareOneMenuLevel, "CExtPopupMenuWnd::g_nMsgPrepareOneMenuLevel"},
        {CExtPopupMenuWnd::g_nMsgNotifyMenuClosed, "CExtPopupMenuWnd::g_nMsgNotifyMenuClosed"},
        {CExtPopupMenuWnd::g_nMsgPopupDrawItem, "CExtPopupMenuWnd::g_nMsgPopupDrawItem"},
        {CExtPopupMenuWnd::g_nMsgTearOff, "CExtPopupMenuWnd::g_nMsgTearOff"},
        {CExtPopupMenuWnd::g_nMsgCustomFloatPos, "CExtPopupMenuWnd::g_nMsgCustomFloatPos"},
    };
    for (const auto& m : msgs)
        EXPECT_EQ(m.nMsg, ::RegisterWindowMessageA(m.sName)) << m.sName;
}
