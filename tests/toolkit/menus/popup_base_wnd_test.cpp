// The popup base window: animation kinds and steps, the sound at the end of the
// animation, delayed show, deferred repaint, paint dispatch and mouse activation (by the
// window a press was made on).
#include <gtest/gtest.h>

#include "framework/framework.h"
#include "support/message_pump.h"
#include "support/mouse_input.h"
#include "support/msg_recorder.h"
#include "toolkit/menus/popup_menu_wnd.h"
#include "toolkit/menus/sound_player.h"

#include <time.h>

namespace {

template <class BASE>
class CountingPopup : public BASE
{
public:
    void OnPaintMenu(CDC&, bool bFull) override
    {
        m_nPaintMenu++;
        m_bLastFull = bFull;
    }
    void OnPaintFull(CDC&) override { m_nPaintFull++; }
    bool Create(int x = 100, int y = 100)
    {
        return this->CreateEx(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, AfxRegisterWndClass(0), _T(""), WS_POPUP, x, y, 60,
                              40, NULL, 0) != FALSE;
    }
    int m_nPaintMenu = 0;
    int m_nPaintFull = 0;
    bool m_bLastFull = false;
};
typedef CountingPopup<CExtPopupBaseWnd> TestPopup;
typedef CountingPopup<CExtPopupMenuWnd> TestMenu;

int g_nSounds = 0;
BOOL WINAPI CountPlaySound(LPCSTR pszSound, HMODULE, DWORD)
{
    if (pszSound != NULL)
        g_nSounds++;
    return TRUE;
}

class PopupBaseTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_nOldDefault = CExtPopupBaseWnd::g_nDefaultAnimation;
        m_pfnOldPlay = CExtSoundPlayer::g_pfnPlaySound;
        CExtSoundPlayer::g_pfnPlaySound = CountPlaySound;
        g_nSounds = 0;
    }
    void TearDown() override
    {
        CExtPopupBaseWnd::g_nDefaultAnimation = m_nOldDefault;
        HANDLE hIdle = CExtSoundPlayer::stat_GetIdleEvent().m_hObject;
        if (::WaitForSingleObject(hIdle, 10000) == WAIT_OBJECT_0)
            ::SetEvent(hIdle);
        CExtSoundPlayer::g_pfnPlaySound = m_pfnOldPlay;
        CExtPaintManager::g_nScreenBitsPerPixelOverride = 0;
    }
    // One animation step as the timer would run it, with no time passed since the last.
    static void Step(CWnd& wnd)
    {
        CExtPopupBaseWnd::g_nLastAnimTick = (long)clock();
        wnd.SendMessage(WM_TIMER, CExtPopupBaseWnd::ID_TIMER_ANIMATION, 0);
    }
    static bool WaitSoundsIdle()
    {
        HANDLE hIdle = CExtSoundPlayer::stat_GetIdleEvent().m_hObject;
        if (::WaitForSingleObject(hIdle, 10000) != WAIT_OBJECT_0)
            return false;
        ::SetEvent(hIdle);
        return true;
    }
    int m_nOldDefault = 4;
    CExtSoundPlayer::pfnPlaySound_t m_pfnOldPlay = NULL;
};

}  // namespace

TEST_F(PopupBaseTest, ResetStateSettlesTheAnimationKind)
{
    TestPopup popup;
    for (int n = 0; n < 50; n++)
    {
        popup.SetAnimationKind(CExtPopupBaseWnd::__AT_RANDOM);
        popup.ResetState();
        EXPECT_GE(popup.GetAnimationKind(), 2) << "try " << n;
        EXPECT_LE(popup.GetAnimationKind(), 10) << "try " << n;
        EXPECT_FALSE(popup.IsAnimationDone());
    }
    struct
    {
        int nKind, nSettled;
        bool bDone;
    } cases[] = {{12, 0, true}, {-3, 0, true}, {0, 0, true}, {-1, -1, false}, {-2, -2, false}, {7, 7, false}};
    for (const auto& c : cases)
    {
        popup.SetAnimationKind(c.nKind);
        popup.ResetState();
        EXPECT_EQ(popup.GetAnimationKind(), c.nSettled) << "kind " << c.nKind;
        EXPECT_EQ(popup.IsAnimationDone(), c.bDone) << "kind " << c.nKind;
    }
    // A palette screen shows popups at once, except the two menu kinds.
    CExtPaintManager::g_nScreenBitsPerPixelOverride = 8;
    for (int nKind : {4, 1, 10})
    {
        popup.SetAnimationKind(nKind);
        popup.ResetState();
        EXPECT_EQ(popup.GetAnimationKind(), 0) << "kind " << nKind;
        EXPECT_TRUE(popup.IsAnimationDone()) << "kind " << nKind;
    }
    popup.SetAnimationKind(-2);
    popup.ResetState();
    EXPECT_EQ(popup.GetAnimationKind(), -2);
    CExtPaintManager::g_nScreenBitsPerPixelOverride = 0;
}

TEST_F(PopupBaseTest, AnimationEndsOnTheSixthStepAndPlaysItsSoundOnce)
{
    CExtPopupBaseWnd::g_nDefaultAnimation = 0;
    TestMenu menu;
    ASSERT_TRUE(menu.Create());
    menu.SetAnimationKind(4);
    menu.SetSoundEvent(CExtSoundPlayer::__ON_MENU_POPUP_DISPLAYED);
    menu.AnimationStart();
    g_PopupTrackingSite.SetAnimatedMenu(&menu);
    EXPECT_FALSE(menu.IsAnimationDone());
    for (int n = 1; n <= 5; n++)
    {
        Step(menu);
        EXPECT_EQ(menu.m_nAnimPercent, 20 * n) << "step " << n;
        EXPECT_FALSE(menu.IsAnimationDone()) << "step " << n;
    }
    Step(menu);
    EXPECT_TRUE(menu.IsAnimationDone());
    EXPECT_EQ(menu.GetAnimationKind(), 0) << "the default kind is back";
    EXPECT_EQ(menu.GetSoundEvent(), 0);
    EXPECT_EQ(g_PopupTrackingSite.GetAnimatedMenu(), nullptr);
    EXPECT_FALSE(::KillTimer(menu.GetSafeHwnd(), CExtPopupBaseWnd::ID_TIMER_ANIMATION)) << "timer 666 stopped";
    ASSERT_TRUE(WaitSoundsIdle());
    EXPECT_EQ(g_nSounds, 1);
    Step(menu);  // a late tick changes nothing
    ASSERT_TRUE(WaitSoundsIdle());
    EXPECT_EQ(g_nSounds, 1);
    menu.DestroyWindow();
}

TEST_F(PopupBaseTest, WithoutDefaultAnimationATipSetsNoTimerButAMenuStillPlaysItsSound)
{
    CExtPopupBaseWnd::g_nDefaultAnimation = 0;
    CountingPopup<CExtPopupMenuTipWnd> tip;
    ASSERT_TRUE(tip.Create());
    tip.AnimationStart();
    EXPECT_TRUE(tip.IsAnimationDone());
    EXPECT_FALSE(::KillTimer(tip.GetSafeHwnd(), CExtPopupBaseWnd::ID_TIMER_ANIMATION));

    // A menu is shown through kind -1: one tick ends it and plays the stored sound.
    TestMenu menu;
    ASSERT_TRUE(menu.Create(200, 100));
    menu.SetAnimationKind(CExtPopupBaseWnd::__AT_CONTENT_DISPLAY);
    menu.SetSoundEvent(CExtSoundPlayer::__ON_MENU_POPUP_DISPLAYED);
    menu.AnimationStart();
    EXPECT_FALSE(menu.IsAnimationDone());
    ASSERT_TRUE(testsupport::PumpUntil([&] { return menu.IsAnimationDone(); }));
    ASSERT_TRUE(WaitSoundsIdle());
    EXPECT_EQ(g_nSounds, 1);
    tip.DestroyWindow();
    menu.DestroyWindow();
}

TEST_F(PopupBaseTest, PaintGoesToTheFullPainterOnlyWhileAnimating)
{
    TestPopup popup;
    ASSERT_TRUE(popup.Create());
    popup.SetAnimationKind(4);
    popup.ResetState();
    ::ShowWindow(popup.GetSafeHwnd(), SW_SHOWNA);
    ::InvalidateRect(popup.GetSafeHwnd(), NULL, FALSE);
    ::UpdateWindow(popup.GetSafeHwnd());
    EXPECT_GE(popup.m_nPaintFull, 1);
    EXPECT_EQ(popup.m_nPaintMenu, 0);

    popup.SetAnimationKind(0);
    popup.ResetState();
    popup.m_nPaintFull = 0;
    ::InvalidateRect(popup.GetSafeHwnd(), NULL, FALSE);
    ::UpdateWindow(popup.GetSafeHwnd());
    EXPECT_EQ(popup.m_nPaintFull, 0);
    EXPECT_GE(popup.m_nPaintMenu, 1);
    EXPECT_TRUE(popup.m_bLastFull);
    EXPECT_EQ(popup.SendMessage(WM_ERASEBKGND, 0, 0), TRUE) << "nothing is erased";
    popup.DestroyWindow();
}

TEST_F(PopupBaseTest, DelayedShowAndDeferredRepaintComeFromTheMessageLoop)
{
    TestPopup popup;
    ASSERT_TRUE(popup.Create());
    popup.SetAnimationKind(0);
    popup.ResetState();
    testsupport::MsgRecorder rec;
    rec.Only({WM_TIMER, WM_SHOWWINDOW, WM_PAINT});
    rec.Watch(popup.GetSafeHwnd());
    rec.HookThread();

    ::SetTimer(popup.GetSafeHwnd(), CExtPopupBaseWnd::ID_TIMER_DELAY_SHOW, 10, NULL);
    ASSERT_TRUE(testsupport::PumpUntil([&] { return popup.IsWindowVisible() && popup.m_nPaintMenu > 0; }));
    testsupport::PumpPending();
    EXPECT_TRUE(rec.Matches({
        {WM_TIMER, testsupport::kPosted | testsupport::kWParam, CExtPopupBaseWnd::ID_TIMER_DELAY_SHOW},
        {WM_SHOWWINDOW, testsupport::kSent | testsupport::kWParam, TRUE},
        {WM_PAINT, 0},
    }));
    EXPECT_FALSE(::KillTimer(popup.GetSafeHwnd(), CExtPopupBaseWnd::ID_TIMER_DELAY_SHOW)) << "shown once";

    rec.Clear();
    const int nPaints = popup.m_nPaintMenu;
    popup.PostRepaint();
    EXPECT_EQ(popup.m_nPaintMenu, nPaints) << "nothing is painted before the loop runs";
    testsupport::PumpPending();
    EXPECT_EQ(popup.m_nPaintMenu, nPaints + 1);
    EXPECT_TRUE(rec.Matches({
        {WM_TIMER, testsupport::kPosted | testsupport::kWParam, CExtPopupBaseWnd::ID_TIMER_DELAY_PAINT},
    }));
    rec.Unhook();
    popup.DestroyWindow();
}

TEST_F(PopupBaseTest, ShadowSizeActivationAndDestroy)
{
    TestPopup popup;
    EXPECT_TRUE(popup.DestroyWindow()) << "no window yet";
    EXPECT_EQ(popup.GetShadowSize(), 4);
    CExtPopupBaseWnd::g_bMenuWithShadows = false;
    EXPECT_EQ(popup.GetShadowSize(), 0);
    CExtPopupBaseWnd::g_bMenuWithShadows = true;
    EXPECT_TRUE(g_CurrentPaintManager.IsBridgeRegistered(&popup));

    ASSERT_TRUE(popup.Create());
    EXPECT_EQ(popup.SendMessage(WM_MOUSEACTIVATE, 0, MAKELPARAM(HTCLIENT, WM_LBUTTONDOWN)), MA_NOACTIVATEANDEAT)
        << "a tracked popup without child windows never activates";
    EXPECT_TRUE(popup.DestroyWindow());
    EXPECT_EQ(popup.GetSafeHwnd(), nullptr);
}

TEST_F(PopupBaseTest, AnUntrackedMenuComesToTheTopWithoutActivating)
{
    TestMenu menu;
    ASSERT_TRUE(menu.Create());
    menu.SetTrackFlags(CExtPopupMenuWnd::TMF_UNTRACKED);
    EXPECT_TRUE(menu.IsUntrackedMode());
    ::ShowWindow(menu.GetSafeHwnd(), SW_SHOWNA);
    testsupport::PumpPending();
    const int nPaints = menu.m_nPaintMenu;
    EXPECT_EQ(menu.SendMessage(WM_MOUSEACTIVATE, 0, MAKELPARAM(HTCLIENT, WM_LBUTTONDOWN)), MA_NOACTIVATE);
    EXPECT_EQ(menu.m_nPaintMenu, nPaints + 1) << "repainted at once";
    EXPECT_NE(::GetActiveWindow(), menu.GetSafeHwnd());
    menu.DestroyWindow();
}

// A tracked popup activates only for a press on one of its child windows (a menu's in-place
// editor), and it is the window the press was made on that counts, not the one the
// pointer has moved to by the time the thread takes the press (the thread is held: it
// takes nothing until the hand is done). A press eaten reaches no window.
TEST_F(PopupBaseTest, APressActivatesByTheWindowItWasMadeOn)
{
    const POINT ptChild = {300 + 10, 200 + 20}, ptPopup = {300 + 45, 200 + 20};
    const struct
    {
        const char* what;
        POINT press, after;
        bool bToChild;
    } cases[] = {
        {"pressed on the child, the pointer moved onto the popup", ptChild, ptPopup, true},
        {"pressed on the popup, the pointer moved onto the child", ptPopup, ptChild, false},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.what);
        TestPopup popup;
        ASSERT_TRUE(popup.Create(300, 200));
        HWND hChild = ::CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE | SS_NOTIFY, 0, 0, 30, 40,
                                        popup.GetSafeHwnd(), NULL, NULL, NULL);
        ASSERT_NE(nullptr, hChild);
        ::ShowWindow(popup.GetSafeHwnd(), SW_SHOWNA);
        testsupport::PumpPending();
        testsupport::MsgRecorder rec;
        rec.Only({WM_LBUTTONDOWN});
        rec.Watch(popup.GetSafeHwnd());
        rec.Watch(hChild);
        rec.HookThread();
        testsupport::SendMouse(0, c.press);
        testsupport::SendMouse(MOUSEEVENTF_LEFTDOWN, c.press);
        testsupport::SendMouse(MOUSEEVENTF_LEFTUP, c.press);
        testsupport::SendMouse(0, c.after);
        EXPECT_TRUE(testsupport::PumpUntilIdle());
        rec.Unhook();
        EXPECT_EQ(c.bToChild ? 1u : 0u, rec.Count(WM_LBUTTONDOWN)) << rec.Dump();
        if (c.bToChild && rec.Count(WM_LBUTTONDOWN) == 1)
            EXPECT_EQ(hChild, rec.Records()[0].hwnd);
        popup.DestroyWindow();
        testsupport::PumpPending();
    }
}
