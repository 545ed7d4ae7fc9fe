// The themed system menu of a dialog: Alt+Space and the system-menu button open the
// toolkit's popup menu built from the window's system menu, a chosen item reaches the
// dialog as WM_SYSCOMMAND with its id, and Esc closes the menu with nothing sent.
#include <gtest/gtest.h>

#include "dialogs_test_ids.h"
#include "support/message_pump.h"
#include "support/msg_recorder.h"
#include "toolkit/core/cmd_manager.h"
#include "toolkit/dialogs/resizable_dialog.h"
#include "toolkit/menus/popup_menu_wnd.h"

using testsupport::ExpectedMsg;
using testsupport::kPosted;
using testsupport::kWParam;
using testsupport::MsgRecorder;
using testsupport::PumpPending;
using testsupport::PumpUntil;

namespace {

const char* kProfile = "sysmenu-track-test";

// Takes the system commands it is sent, so that choosing Close or Move in a test does
// not close the dialog or start a move loop.
class SysCmdDialog : public CExtResizableDialog
{
public:
    SysCmdDialog() : CExtResizableDialog(IDD_DT_ANCHORS) {}
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_SYSCOMMAND)
            return 0;
        if (message == CExtPopupMenuWnd::g_nMsgPrepareMenu && m_bVeto)
        {
            ((CExtPopupMenuWnd::PREPAREMENUDATA*)wParam)->m_nFlags |= 0x02;
            return 0;
        }
        return CExtResizableDialog::WindowProc(message, wParam, lParam);
    }
    bool m_bVeto = false;
};

class SysMenuTrack : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_nSavedAnimation = CExtPopupBaseWnd::g_nDefaultAnimation;
        CExtPopupBaseWnd::g_nDefaultAnimation = 0;
        ASSERT_TRUE(m_dlg.Create(IDD_DT_ANCHORS, NULL));
        m_dlg.SetWindowPos(NULL, 100, 80, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        m_dlg.ShowWindow(SW_SHOW);
        // No window manager: activation and focus are set by hand.
        ::SetActiveWindow(m_dlg.m_hWnd);
        ::SetFocus(m_dlg.m_hWnd);
        // The application binds a command profile to its windows; the system commands
        // come into it from the system menu.
        ASSERT_TRUE(g_CommandManager->ProfileSetup(kProfile, m_dlg.m_hWnd));
        PumpPending();
        m_rec.Only({WM_SYSCOMMAND, WM_COMMAND});
        m_rec.Watch(m_dlg.m_hWnd);
        m_rec.HookThread();
    }
    void TearDown() override
    {
        m_rec.Unhook();
        CExtPopupMenuWnd::CancelMenuTracking();
        PumpPending();
        g_CommandManager->ProfileDestroy(kProfile, true);
        if (m_dlg.GetSafeHwnd() != NULL)
            m_dlg.DestroyWindow();
        CExtPopupBaseWnd::g_nDefaultAnimation = m_nSavedAnimation;
    }
    static CExtPopupMenuWnd* TrackedMenu() { return g_PopupTrackingSite.GetInstance(); }
    static void Key(UINT nChar)
    {
        CExtPopupMenuWnd* pMenu = g_PopupTrackingSite.GetCurrentPopup();
        ASSERT_NE(pMenu, nullptr);
        bool bNoEat = false;
        pMenu->OnKeyDown(nChar, 1, 0, bNoEat);
    }
    // The menu's items are the system menu's, id for id.
    void ExpectItemsOfSystemMenu(CExtPopupMenuWnd* pMenu)
    {
        HMENU hSys = ::GetSystemMenu(m_dlg.m_hWnd, FALSE);
        ASSERT_NE(hSys, (HMENU)NULL);
        ASSERT_EQ(pMenu->ItemGetCount(), ::GetMenuItemCount(hSys));
        for (int i = 0; i < pMenu->ItemGetCount(); i++)
            EXPECT_EQ(pMenu->ItemGetCmdID(i), ::GetMenuItemID(hSys, i)) << "item " << i;
    }
    void WaitForMenuClosed()
    {
        EXPECT_TRUE(PumpUntil([] { return !CExtPopupMenuWnd::IsMenuTracking(); }));
        EXPECT_TRUE(PumpUntil([this] { return !m_dlg.IsSystemMenuTracking(); })) << "timer 301 saw it closed";
    }

    SysCmdDialog m_dlg;
    MsgRecorder m_rec;
    int m_nSavedAnimation = 0;
};

}  // namespace

TEST_F(SysMenuTrack, AltSpaceOpensTheMenuAndEnterSendsTheSelectedCommand)
{
    MSG msg = {m_dlg.m_hWnd, WM_SYSKEYDOWN, VK_SPACE, (LPARAM)(1 << 29), 0, {0, 0}};
    EXPECT_TRUE(m_dlg.PreTranslateMessage(&msg));
    ASSERT_TRUE(m_dlg.IsSystemMenuTracking());
    CExtPopupMenuWnd* pMenu = TrackedMenu();
    ASSERT_NE(pMenu, nullptr);
    ASSERT_TRUE(::IsWindow(pMenu->GetSafeHwnd()));
    EXPECT_TRUE(pMenu->IsWindowVisible());
    EXPECT_EQ(pMenu->GetCmdReceiverHWND(), m_dlg.m_hWnd);
    ExpectItemsOfSystemMenu(pMenu);

    // Opened from the keyboard, the first item that can run is selected: Move, since
    // this dialog can neither be restored, minimized nor maximized.
    int nMove = pMenu->ItemFindPosForCmdID(SC_MOVE);
    ASSERT_GE(nMove, 0);
    EXPECT_EQ(pMenu->GetCurrentItem(), nMove);
    EXPECT_FALSE(pMenu->ItemEnabledGet(pMenu->ItemFindPosForCmdID(SC_RESTORE)));
    EXPECT_STREQ((LPCTSTR)pMenu->ItemGetText(nMove), "&Move");

    Key(VK_RETURN);
    WaitForMenuClosed();
    PumpPending();
    EXPECT_TRUE(m_rec.Matches({{WM_SYSCOMMAND, kPosted | kWParam, SC_MOVE}}));
}

TEST_F(SysMenuTrack, SystemMenuButtonOpensItUnderTheCaptionAndAnAccessKeyChoosesClose)
{
    EXPECT_EQ(0, (int)m_dlg.SendMessage(WM_NCLBUTTONUP, HTSYSMENU, 0));
    ASSERT_TRUE(m_dlg.IsSystemMenuTracking());
    CExtPopupMenuWnd* pMenu = TrackedMenu();
    ASSERT_NE(pMenu, nullptr);
    ExpectItemsOfSystemMenu(pMenu);
    EXPECT_EQ(pMenu->GetCurrentItem(), -1) << "a click selects nothing";

    // Just under the caption at the window's leading edge.
    CRect rcWnd, rcClient, rcMenu;
    m_dlg.GetWindowRect(&rcWnd);
    m_dlg.GetClientRect(&rcClient);
    m_dlg.ClientToScreen(&rcClient);
    pMenu->GetWindowRect(&rcMenu);
    EXPECT_EQ(rcClient.top, rcMenu.top);
    EXPECT_EQ(rcWnd.left + ::GetSystemMetrics(SM_CXFRAME), rcMenu.left);

    Key('C');
    WaitForMenuClosed();
    PumpPending();
    EXPECT_TRUE(m_rec.Matches({{WM_SYSCOMMAND, kPosted | kWParam, SC_CLOSE}}));
    EXPECT_TRUE(::IsWindow(m_dlg.m_hWnd));
}

TEST_F(SysMenuTrack, EscapeClosesTheMenuWithNothingSent)
{
    ASSERT_TRUE(m_dlg.TrackSystemMenu(NULL, true));
    ASSERT_TRUE(CExtPopupMenuWnd::IsMenuTracking());
    HWND hWndMenu = TrackedMenu()->GetSafeHwnd();
    Key(VK_ESCAPE);
    WaitForMenuClosed();
    PumpPending();
    EXPECT_FALSE(::IsWindow(hWndMenu));
    EXPECT_TRUE(m_rec.Records().empty()) << m_rec.Dump();

    // Opening again while a menu tracks replaces it: one menu at a time.
    ASSERT_TRUE(m_dlg.TrackSystemMenu(NULL, false));
    HWND hWndFirst = TrackedMenu()->GetSafeHwnd();
    ASSERT_TRUE(m_dlg.TrackSystemMenu(NULL, false));
    PumpPending();
    EXPECT_FALSE(::IsWindow(hWndFirst));
    EXPECT_TRUE(::IsWindow(TrackedMenu()->GetSafeHwnd()));
}

TEST_F(SysMenuTrack, RightClickOnTheCaptionOpensTheMenuAtTheCursor)
{
    ASSERT_TRUE(::SetCursorPos(300, 200));
    POINT ptCursor = {0, 0};
    ASSERT_TRUE(::GetCursorPos(&ptCursor));
    EXPECT_EQ(0, (int)m_dlg.SendMessage(WM_NCRBUTTONUP, HTCAPTION, MAKELPARAM(ptCursor.x, ptCursor.y)));
    ASSERT_TRUE(m_dlg.IsSystemMenuTracking());
    CRect rcMenu;
    TrackedMenu()->GetWindowRect(&rcMenu);
    EXPECT_EQ(CPoint(ptCursor), rcMenu.TopLeft());
}

TEST_F(SysMenuTrack, MenuVetoedByTheDialogIsNotOpenAndTheNextOneIs)
{
    m_dlg.m_bVeto = true;
    EXPECT_FALSE(m_dlg.TrackSystemMenu(NULL, true));
    EXPECT_FALSE(m_dlg.IsSystemMenuTracking());
    EXPECT_FALSE(CExtPopupMenuWnd::IsMenuTracking());
    EXPECT_EQ(TrackedMenu(), nullptr);

    // The refused menu was freed by the dialog alone; the next one opens and works.
    m_dlg.m_bVeto = false;
    ASSERT_TRUE(m_dlg.TrackSystemMenu(NULL, true));
    Key(VK_RETURN);
    WaitForMenuClosed();
    PumpPending();
    EXPECT_TRUE(m_rec.Matches({{WM_SYSCOMMAND, kPosted | kWParam, SC_MOVE}}));
}
