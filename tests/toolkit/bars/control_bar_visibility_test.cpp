// A bar towards the user and its frame: showing, hiding and toggling through the frame
// (nothing for a bar in a dialog), the focus passed to the bar's content, the bar
// command's state, WM_CLOSE leaving a bar alive, WM_CANCELMODE and the cursor.
#include <gtest/gtest.h>

#include "framework/framework.h"
#include "framework/afxres.h"
#include "support/message_pump.h"
#include "support/msg_recorder.h"
#include "toolkit/bars/control_bar.h"
#include "bars_test_ids.h"

namespace {

struct Host : CWnd
{
    Host() { CreateEx(0, NULL, "Host", WS_POPUP | WS_CLIPCHILDREN, 0, 0, 300, 200, NULL, NULL); }
    ~Host()
    {
        if (m_hWnd != NULL)
            DestroyWindow();
    }
};

// A frame with a resizable bar docked at the top; the bar holds an edit.
struct DockedBar
{
    CFrameWnd* pFrame = new CFrameWnd;
    CExtControlBar bar;
    CWnd edit;
    explicit DockedBar(DWORD dwBarStyle = WS_CHILD | WS_VISIBLE | CBRS_TOP | CBRS_GRIPPER)
    {
        pFrame->Create(NULL, "Frame", WS_OVERLAPPEDWINDOW, CRect(0, 0, 400, 300));
        pFrame->EnableDocking(CBRS_ALIGN_ANY);
        bar.Create("Panel", pFrame, 0xE930, dwBarStyle);
        edit.CreateEx(0, "EDIT", "", WS_CHILD | WS_VISIBLE, CRect(0, 0, 50, 20), &bar, 1);
        bar.EnableDocking(CBRS_ALIGN_ANY);
        pFrame->DockControlBar(&bar, AFX_IDW_DOCKBAR_TOP);
        pFrame->ShowWindow(SW_SHOWNA);
        ::SetActiveWindow(pFrame->m_hWnd);
        pFrame->RecalcLayout();
    }
    ~DockedBar() { pFrame->DestroyWindow(); }
    bool Visible() const { return (bar.GetStyle() & WS_VISIBLE) != 0; }
};

struct RecordingCmdUI : CCmdUI
{
    int nEnabled = -1, nChecked = -1;
    void Enable(BOOL bOn) override { nEnabled = bOn ? 1 : 0; }
    void SetCheck(int n) override { nChecked = n; }
};

}  // namespace

TEST(ControlBarVisibility, ABarInADialogIsNeitherShownNorHiddenByItsOwnOperations)
{
    CExtControlBar dummy;
    CDialog dlg;
    ASSERT_TRUE(dlg.Create(IDD_BT_BAR_DIALOG, NULL));
    CExtControlBar bar;
    ASSERT_TRUE(bar.SubclassDlgItem(IDC_BT_TEMPLATE_BAR, &dlg));
    bar.ShowBar(false, false);
    EXPECT_NE(0u, bar.GetStyle() & WS_VISIBLE);
    bar.ToggleVisibility(true);
    EXPECT_NE(0u, bar.GetStyle() & WS_VISIBLE);
    EXPECT_TRUE(bar.EnsureBarShown());
    bar.ShowWindow(SW_HIDE);
    bar.ToggleVisibility(false);
    EXPECT_EQ(0u, bar.GetStyle() & WS_VISIBLE);
    EXPECT_FALSE(bar.EnsureBarShown());
    bar.UnsubclassWindow();
    dlg.DestroyWindow();
}

TEST(ControlBarVisibility, ToggleHidesOnlyWhenAskedAndShowsWithTheFocusInTheContent)
{
    DockedBar d;
    ASSERT_TRUE(d.Visible());
    // A visible resizable bar asked not to hide is activated instead.
    d.bar.ToggleVisibility(false);
    EXPECT_TRUE(d.Visible());
    EXPECT_EQ(d.edit.m_hWnd, ::GetFocus());
    d.bar.ToggleVisibility(true);
    EXPECT_FALSE(d.Visible());
    d.bar.ToggleVisibility(false);
    EXPECT_TRUE(d.Visible());
    // Through the frame's bar command: a visible bar hides, a hidden one shows.
    EXPECT_TRUE(CExtControlBar::DoFrameBarCheckCmd(d.pFrame, 0xE930, true));
    EXPECT_FALSE(d.Visible());
    EXPECT_TRUE(d.bar.EnsureBarShown());
    EXPECT_TRUE(d.Visible());

    d.bar.ShowBar(false, true);  // delayed: still on screen until the next layout
    EXPECT_TRUE(d.Visible());
    EXPECT_NE(0u, d.bar.m_nStateFlags & CControlBar::delayHide);
    d.pFrame->RecalcLayout();
    EXPECT_FALSE(d.Visible());
}

TEST(ControlBarVisibility, DelayedShowOfAPinnedBarHidesItAndTheBarCommandFollowsVisibility)
{
    DockedBar d;
    d.bar.m_nInteractionFlags |= CExtControlBar::__EIF_AUTOHIDE;
    d.bar.DelayShow(TRUE);
    EXPECT_EQ(UINT(CControlBar::delayHide), d.bar.m_nStateFlags & (CControlBar::delayHide | CControlBar::delayShow));
    d.bar.m_nInteractionFlags &= ~CExtControlBar::__EIF_AUTOHIDE;
    d.bar.DelayShow(TRUE);
    EXPECT_EQ(0u, d.bar.m_nStateFlags & (CControlBar::delayHide | CControlBar::delayShow));

    struct
    {
        bool bForce, bLocked;
        int nEnabled, nChecked;
    } cases[] = {{false, false, 1, -1}, {true, false, 1, 1}, {true, true, 0, 1}};
    for (const auto& c : cases)
    {
        RecordingCmdUI ui;
        CExtControlBar::g_bLockAllBars = c.bLocked;
        d.bar.OnUpdateBarCommand(&ui, c.bForce);
        CExtControlBar::g_bLockAllBars = false;
        EXPECT_EQ(c.nEnabled, ui.nEnabled) << "force " << c.bForce << " locked " << c.bLocked;
        EXPECT_EQ(c.nChecked, ui.nChecked) << "force " << c.bForce << " locked " << c.bLocked;
    }
}

TEST(ControlBarVisibility, CloseLeavesTheBarAliveAndUpdatingWhileDestroyMarksIt)
{
    Host host;
    struct CountingBar : CExtControlBar
    {
        int nUpdates = 0;
        void OnUpdateCmdUI(CFrameWnd*, BOOL) override { nUpdates++; }
    } bar;
    ASSERT_TRUE(bar.Create("Bar", &host, 0xE931, WS_CHILD | WS_VISIBLE | CBRS_TOP));
    EXPECT_EQ(0, bar.SendMessage(WM_CLOSE));
    EXPECT_TRUE(::IsWindow(bar.m_hWnd));
    EXPECT_EQ(0, bar.m_nOptionFlags & CExtControlBar::__ESF_BUSY);
    EXPECT_FALSE(bar.IsDestroying());
    // Its command UI keeps running.
    EXPECT_TRUE(bar.DoBarUpdateCmdUI(TRUE));
    EXPECT_EQ(1, bar.nUpdates);

    // Destruction marks the bar busy before its window goes.
    struct DestroyProbe : CExtControlBar
    {
        BYTE nFlagsAtNcDestroy = 0;
        void PostNcDestroy() override
        {
            nFlagsAtNcDestroy = m_nOptionFlags;
            CExtControlBar::PostNcDestroy();
        }
    } probe;
    ASSERT_TRUE(probe.Create("Probe", &host, 0xE932, WS_CHILD | WS_VISIBLE | CBRS_TOP));
    probe.SendMessage(WM_DESTROY);
    EXPECT_TRUE(probe.IsDestroying());
    probe.m_nOptionFlags &= ~CExtControlBar::__ESF_BUSY;
    probe.DestroyWindow();
    EXPECT_NE(0, probe.nFlagsAtNcDestroy & CExtControlBar::__ESF_BUSY);
    bar.DestroyWindow();
}

TEST(ControlBarVisibility, CancelModeRepaintsTheCaptionOnlyWhenTheButtonsWereHovered)
{
    Host host;
    CExtControlBar bar;
    ASSERT_TRUE(bar.Create("Bar", &host, 0xE933, WS_CHILD | WS_VISIBLE | CBRS_TOP));
    testsupport::PumpPending();
    for (int nHover = 0; nHover < 2; nHover++)
    {
        if (nHover != 0)
            bar.m_nInteractionFlags |= CExtControlBar::__EIF_NC_HOVER;
        testsupport::MsgRecorder rec;
        rec.Only({WM_NCPAINT, WM_CANCELMODE});
        rec.Watch(bar.m_hWnd);
        rec.HookThread();
        bar.SendMessage(WM_CANCELMODE);
        testsupport::PumpPending();
        rec.Unhook();
        std::vector<testsupport::ExpectedMsg> expected = {{WM_CANCELMODE, testsupport::kSent}};
        if (nHover != 0)
            expected.push_back({WM_NCPAINT, testsupport::kPosted});
        EXPECT_TRUE(rec.Matches(expected)) << "hover " << nHover;
        EXPECT_EQ(0, bar.m_nInteractionFlags & CExtControlBar::__EIF_NC_HOVER) << "hover " << nHover;
    }
    bar.DestroyWindow();
}

TEST(ControlBarVisibility, CursorOverTheCaptionFollowsTheBarKind)
{
    // A fixed bar docked at the top has its gripper at the left: the drag cursor there.
    CFrameWnd* pFrame = new CFrameWnd;
    ASSERT_TRUE(pFrame->Create(NULL, "Frame", WS_OVERLAPPEDWINDOW, CRect(0, 0, 400, 300)));
    pFrame->EnableDocking(CBRS_ALIGN_ANY);
    CExtControlBar tool;
    tool.m_nOptionFlags = BYTE((tool.m_nOptionFlags | CExtControlBar::__ESF_FIXED_MODE) &
                               ~CExtControlBar::__ESF_CAPTION_AT_TOP);
    ASSERT_TRUE(tool.Create("Tool", pFrame, 0xE934, WS_CHILD | WS_VISIBLE | CBRS_TOP | CBRS_GRIPPER));
    tool.EnableDocking(CBRS_ALIGN_ANY);
    pFrame->DockControlBar(&tool, AFX_IDW_DOCKBAR_TOP);
    pFrame->RecalcLayout();
    const RECT rcCaption = *tool.GetCaptionRect();
    ASSERT_FALSE(::IsRectEmpty(&rcCaption));
    CRect rcWnd, rcClient;
    tool.GetWindowRect(&rcWnd);
    tool.GetClientRect(&rcClient);
    tool.ClientToScreen(&rcClient);
    // Client coordinates of a point in the middle of the caption.
    const CPoint ptCaption((rcCaption.left + rcCaption.right) / 2 + rcWnd.left - rcClient.left,
                           (rcCaption.top + rcCaption.bottom) / 2 + rcWnd.top - rcClient.top);
    ::SetCursor(NULL);
    EXPECT_TRUE(tool.NcHitTestAndCursor(ptCaption));
    EXPECT_EQ(CExtControlBar::g_hCursorDrag, ::GetCursor());
    CExtControlBar::g_bLockAllBars = true;
    tool.NcHitTestAndCursor(ptCaption);
    CExtControlBar::g_bLockAllBars = false;
    EXPECT_EQ(CExtControlBar::g_hCursorArrow, ::GetCursor());
    ::SetCursor(NULL);
    tool.NcHitTestAndCursor(CPoint(rcClient.Width() - 2, rcClient.Height() / 2));
    EXPECT_EQ(CExtControlBar::g_hCursorArrow, ::GetCursor());  // the class cursor
    pFrame->DestroyWindow();
}

TEST(ControlBarVisibility, CaptionDoubleClickFloatsADockedBarOnce)
{
    DockedBar d;
    CExtControlBar::SetFrameFloatingClass(d.pFrame);
    d.bar.SendMessage(WM_NCLBUTTONDBLCLK, HTBOTTOM, 0);  // not the caption: nothing
    EXPECT_FALSE(d.bar.IsFloating());
    d.bar.m_ptFloatPos = CPoint(120, 80);
    d.bar.SendMessage(WM_NCLBUTTONDBLCLK, HTCAPTION, 0);
    ASSERT_TRUE(d.bar.IsFloating());
    CFrameWnd* pMini = d.bar.GetParentFrame();
    ASSERT_TRUE(pMini != NULL && pMini->IsKindOf(RUNTIME_CLASS(CExtMiniDockFrameWnd)));
    CRect rcMini;
    pMini->GetWindowRect(&rcMini);
    EXPECT_EQ(CPoint(120, 80), rcMini.TopLeft());
    // Inside its floating frame the bar stays where it is.
    d.bar.SendMessage(WM_NCLBUTTONDBLCLK, HTCAPTION, 0);
    EXPECT_EQ(pMini, d.bar.GetParentFrame());
}

TEST(ControlBarVisibility, KeysForTheBarsContentAreDispatchedToItDirectly)
{
    Host host;
    CExtControlBar bar;
    ASSERT_TRUE(bar.Create("Bar", &host, 0xE935, WS_CHILD | WS_VISIBLE | CBRS_TOP));
    CWnd edit;
    ASSERT_TRUE(edit.CreateEx(0, "EDIT", "", WS_CHILD | WS_VISIBLE, CRect(0, 0, 50, 20), &bar, 1));
    testsupport::MsgRecorder rec;
    rec.Only({WM_CHAR});
    rec.Watch(edit.m_hWnd);
    rec.Watch(host.m_hWnd);
    rec.HookThread();
    MSG msg = {edit.m_hWnd, WM_KEYDOWN, 'A', 0x1E0001, 0, {0, 0}};
    EXPECT_TRUE(CExtControlBar::ChildBarsPreTranslateMessage(&host, &msg));
    MSG other = {host.m_hWnd, WM_KEYDOWN, 'A', 0x1E0001, 0, {0, 0}};
    EXPECT_FALSE(CExtControlBar::ChildBarsPreTranslateMessage(&host, &other));
    testsupport::PumpPending();
    rec.Unhook();
    // Translated (the character posted once, for the edit only) and dispatched.
    EXPECT_TRUE(rec.Matches({{WM_CHAR, testsupport::kPosted | testsupport::kWParam | testsupport::kHwnd, 'a', 0,
                              edit.m_hWnd}}));
    CString sText;
    edit.GetWindowText(sText);
    EXPECT_STREQ("a", sText);
    bar.DestroyWindow();
}
