// The bars menu of a frame: its list with check marks and groups, the notifications the
// frame gets around it, the right click on a bar that opens it, and the Options caption
// button of a floating fixed bar that carries it as a sub-menu.
#include <gtest/gtest.h>

#include "framework/framework.h"
#include "framework/afxres.h"
#include "support/message_pump.h"
#include "support/mouse_input.h"
#include "support/msg_recorder.h"
#include "toolkit/bars/control_bar.h"
#include "toolkit/core/cmd_manager.h"
#include "toolkit/menus/popup_menu_wnd.h"
#include "toolkit/menus/popup_tracking_site.h"

namespace {

struct FixedBar : CExtControlBar
{
    FixedBar() { m_nOptionFlags = BYTE((m_nOptionFlags | __ESF_FIXED_MODE) & ~__ESF_CAPTION_AT_TOP); }
};

// A frame with a resizable bar, a hidden resizable bar and a fixed bar (listed in that
// order, the order of construction), docked at the top.
struct BarsFrame
{
    CFrameWnd* pFrame = new CFrameWnd;
    CExtControlBar panel, hidden;
    FixedBar tools;
    BarsFrame()
    {
        pFrame->Create(NULL, "Frame", WS_OVERLAPPEDWINDOW, CRect(0, 0, 400, 300));
        g_CommandManager->ProfileSetup("bars-menu-test", pFrame->m_hWnd);
        pFrame->EnableDocking(CBRS_ALIGN_ANY);
        CExtControlBar::SetFrameFloatingClass(pFrame);
        panel.Create("Panel", pFrame, 0xE950, WS_CHILD | WS_VISIBLE | CBRS_TOP | CBRS_GRIPPER);
        tools.Create("Tools", pFrame, 0xE951, WS_CHILD | WS_VISIBLE | CBRS_TOP | CBRS_GRIPPER);
        hidden.Create("Hidden", pFrame, 0xE952, WS_CHILD | CBRS_TOP | CBRS_GRIPPER);
        for (CControlBar* p : {static_cast<CControlBar*>(&panel), static_cast<CControlBar*>(&tools),
                               static_cast<CControlBar*>(&hidden)})
        {
            p->EnableDocking(CBRS_ALIGN_ANY);
            pFrame->DockControlBar(p, AFX_IDW_DOCKBAR_TOP);
        }
        pFrame->ShowWindow(SW_SHOWNA);
        pFrame->RecalcLayout();
    }
    ~BarsFrame()
    {
        ::SetCursorPos(900, 700);
        CExtPopupMenuWnd::CancelMenuTracking();
        testsupport::PumpPending();
        pFrame->DestroyWindow();
        g_CommandManager->ProfileDestroy("bars-menu-test", true);
    }
};

// The items of a menu as "id:checked" or "-" for a separator.
std::string Items(CExtPopupMenuWnd* pPopup)
{
    std::string s;
    for (int i = 0; i < pPopup->ItemGetCount(); i++)
    {
        const CExtPopupMenuWnd::MENUITEMDATA& mi = pPopup->ItemGetInfo(i);
        if (!s.empty())
            s += " ";
        if (mi.IsSeparator())
            s += "-";
        else
            s += std::to_string(mi.GetCmdID()) + (mi.GetCheck() ? ":1" : ":0");
    }
    return s;
}

}  // namespace

TEST(ControlBarMenu, FrameBarsAreListedInGroupsWithChecksBetweenTwoNotifications)
{
    BarsFrame f;
    CExtPopupMenuWnd* pPopup = new CExtPopupMenuWnd;
    ASSERT_TRUE(pPopup->CreatePopupMenu(f.pFrame->m_hWnd));
    testsupport::MsgRecorder rec;
    rec.Only({CExtControlBar::g_nMsgConstructPopupMenu});
    rec.Watch(f.pFrame->m_hWnd);
    rec.HookThread();
    EXPECT_TRUE(CExtDockBar::BuildBarsPopupMenu(f.pFrame, pPopup, 2, &f.panel, WM_RBUTTONUP, NULL));
    rec.Unhook();
    EXPECT_EQ("59728:1 59730:0 - 59729:1", Items(pPopup));
    EXPECT_TRUE(rec.Matches({
        {CExtControlBar::g_nMsgConstructPopupMenu, testsupport::kSent | testsupport::kHwnd, 0, 0, f.pFrame->m_hWnd},
        {CExtControlBar::g_nMsgConstructPopupMenu, testsupport::kSent | testsupport::kHwnd, 0, 0, f.pFrame->m_hWnd},
    }));
    // The bar's text became the command's menu text.
    CExtCmdItem* pCmd = g_CommandManager->CmdGetPtr("bars-menu-test", 0xE951);
    ASSERT_NE(nullptr, pCmd);
    EXPECT_STREQ("Tools", pCmd->m_sMenuText);
    delete pPopup;
}

TEST(ControlBarMenu, RightClickOnAFrameBarOpensTheBarsMenuButNotInADialog)
{
    BarsFrame f;
    CRect rcWnd;
    f.panel.GetWindowRect(&rcWnd);
    ::SetCursorPos(rcWnd.left + 10, rcWnd.top + 5);
    f.panel.SendMessage(WM_NCRBUTTONUP, HTCAPTION, MAKELPARAM(rcWnd.left + 10, rcWnd.top + 5));
    CExtPopupMenuWnd* pTracked = g_PopupTrackingSite.GetInstance();
    ASSERT_NE(nullptr, pTracked);
    EXPECT_EQ("59728:1 59730:0 - 59729:1", Items(pTracked));
    CExtPopupMenuWnd::CancelMenuTracking();
    testsupport::PumpPending();
    EXPECT_TRUE(g_PopupTrackingSite.IsEmpty());

    // A right click inside a resizable bar's client area shows nothing.
    CRect rcClient;
    f.panel.GetClientRect(&rcClient);
    f.panel.ClientToScreen(&rcClient);
    ::SetCursorPos(rcClient.left + 5, rcClient.top + 5);
    f.panel.SendMessage(WM_RBUTTONUP, 0, MAKELPARAM(5, 5));
    EXPECT_TRUE(g_PopupTrackingSite.IsEmpty());
}

// A right click on a bar is judged where the hand released the button, and the menu
// opens there, whatever the pointer does before the frame's thread takes the release (the
// thread is held: it takes nothing until the hand is done).
TEST(ControlBarMenu, TheRightClickIsJudgedWhereTheHandReleasedIt)
{
    BarsFrame f;
    f.pFrame->SetWindowPos(NULL, 150, 120, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    f.pFrame->RecalcLayout();
    testsupport::PumpPending();
    CRect rcWnd, rcClient;
    f.panel.GetWindowRect(&rcWnd);
    f.panel.GetClientRect(&rcClient);
    f.panel.ClientToScreen(&rcClient);
    // The caption lies above the client area: the release there is a client message whose
    // point is negative.
    const CPoint ptCaption(rcWnd.left + 30, (rcWnd.top + rcClient.top) / 2);
    const CPoint ptClient = rcClient.CenterPoint(), ptAway(900, 700);
    ASSERT_LT(ptCaption.y, rcClient.top);
    const struct
    {
        const char* what;
        CPoint release, after;
        bool bMenu;
    } cases[] = {
        {"released on the caption, the pointer moved away", ptCaption, ptAway, true},
        {"released in the client area, the pointer moved onto the caption", ptClient, ptCaption, false},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.what);
        testsupport::SendMouse(0, c.release);
        testsupport::SendMouse(MOUSEEVENTF_RIGHTDOWN, c.release);
        testsupport::SendMouse(MOUSEEVENTF_RIGHTUP, c.release);
        testsupport::SendMouse(0, c.after);
        EXPECT_TRUE(testsupport::PumpUntilIdle());
        CExtPopupMenuWnd* pTracked = g_PopupTrackingSite.GetInstance();
        ASSERT_EQ(c.bMenu, pTracked != NULL);
        if (pTracked != NULL)
        {
            CRect rcMenu;
            pTracked->GetWindowRect(&rcMenu);
            EXPECT_TRUE(rcMenu.PtInRect(c.release + CPoint(2, 2))) << "opened where the button was released";
        }
        CExtPopupMenuWnd::CancelMenuTracking();
        testsupport::PumpPending();
    }
}

TEST(ControlBarMenu, OptionsButtonOfAFloatingFixedBarCarriesTheBarsSubMenu)
{
    BarsFrame f;
    f.pFrame->FloatControlBar(&f.tools, CPoint(100, 100));
    f.pFrame->RecalcLayout();
    testsupport::PumpPending();
    ASSERT_TRUE(f.tools.IsFloating());
    f.tools.SendMessage(WM_NCCALCSIZE);
    f.tools.LayoutNcAreaButtons();
    ASSERT_EQ(3, f.tools.m_vNcAreaButtons.GetSize());
    CExtBarNcAreaButton* pClose = f.tools.m_vNcAreaButtons[0];
    CExtBarNcAreaButton* pOptions = f.tools.m_vNcAreaButtons[2];
    EXPECT_TRUE(pClose->OnQueryVisibility());
    EXPECT_FALSE(f.tools.m_vNcAreaButtons[1]->OnQueryVisibility());
    ASSERT_TRUE(pOptions->OnQueryVisibility());
    // Options stand 3 pixels left of Close in the floating frame's caption.
    EXPECT_EQ(pClose->GetRect().left - 3, pOptions->GetRect().right);

    const CPoint ptOptions = CRect(pOptions->GetRect()).CenterPoint();
    EXPECT_FALSE(pOptions->OnNcAreaClicked(CPoint(-5, -5)));
    EXPECT_TRUE(g_PopupTrackingSite.IsEmpty());
    EXPECT_TRUE(pOptions->OnNcAreaClicked(ptOptions));
    CExtPopupMenuWnd* pTracked = g_PopupTrackingSite.GetInstance();
    ASSERT_NE(nullptr, pTracked);
    ASSERT_EQ(1, pTracked->ItemGetCount());
    EXPECT_STREQ("&Show/hide panels", LPCTSTR(pTracked->ItemGetInfo(0).GetText()));
    CExtPopupMenuWnd* pSub = pTracked->ItemGetPopup(0);
    ASSERT_NE(nullptr, pSub);
    EXPECT_EQ("59728:1 59730:0 - 59729:1", Items(pSub));
    CExtPopupMenuWnd::CancelMenuTracking();
    testsupport::PumpPending();

    // Close hides the floating bar.
    EXPECT_TRUE(pClose->OnNcAreaClicked(CRect(pClose->GetRect()).CenterPoint()));
    EXPECT_EQ(0u, f.tools.GetStyle() & WS_VISIBLE);
}
