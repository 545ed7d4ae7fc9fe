// Control bars outside dock bars and the status bar: WM_SIZEPARENT arithmetic of bars on
// every side of a plain window (the way dialogs lay out their bars), query passes that
// move nothing, and the status bar's panes: indicators from string resources, widths
// shared by the stretching pane, texts, the frame's prompts and the panes' command UI.
#include <gtest/gtest.h>
#include "framework_test_app.h"
#include "frame_test_ids.h"
#include "support/message_pump.h"
#include "support/dib_canvas.h"

using namespace testsupport;

namespace {

class CSideBar : public CControlBar {
public:
    CSize m_size;
    explicit CSideBar(CSize size) : m_size(size) {}
    BOOL Create(CWnd* pParent, DWORD dwStyle, UINT nID) {
        m_dwStyle = dwStyle & CBRS_ALL;
        return CWnd::Create(AfxRegisterWndClass(0), NULL, dwStyle & ~CBRS_ALL, CRect(0, 0, 0, 0), pParent, nID);
    }
    // Stretching bars take the whole length; otherwise their own size.
    CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override {
        if (bStretch) return bHorz ? CSize(32767, m_size.cy) : CSize(m_size.cx, 32767);
        return m_size;
    }
    void OnUpdateCmdUI(CFrameWnd*, BOOL) override {}
};

CRect ChildRect(CWnd* pChild) {
    CRect r;
    pChild->GetWindowRect(&r);
    pChild->GetParent()->ScreenToClient(&r);
    return r;
}

std::string Str(const RECT& r) {
    return "(" + std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
           std::to_string(r.bottom) + ")";
}

TEST(ControlBarLayout, BarsOnEverySideOfAPlainWindow) {
    CWnd host;
    ASSERT_TRUE(host.CreateEx(0, AfxRegisterWndClass(0), "host", WS_POPUP, 0, 0, 300, 200, NULL, NULL));
    CWnd pane;
    ASSERT_TRUE(pane.Create(AfxRegisterWndClass(0), NULL, WS_CHILD | WS_VISIBLE, CRect(0, 0, 1, 1), &host, 100));
    // Created in this order, laid out in this order.
    CSideBar top(CSize(50, 20)), left(CSize(30, 40)), bottom(CSize(60, 10)), right(CSize(25, 40));
    ASSERT_TRUE(top.Create(&host, WS_CHILD | WS_VISIBLE | CBRS_TOP, 1));
    ASSERT_TRUE(left.Create(&host, WS_CHILD | WS_VISIBLE | CBRS_LEFT, 2));
    ASSERT_TRUE(bottom.Create(&host, WS_CHILD | WS_VISIBLE | CBRS_BOTTOM, 3));
    ASSERT_TRUE(right.Create(&host, WS_CHILD | WS_VISIBLE | CBRS_RIGHT, 4));
    // A bar outside a frame has no dock site.
    EXPECT_EQ(top.m_pDockSite, nullptr);

    host.RepositionBars(0, 0xFFFF, 100);
    struct {
        const char* name;
        CWnd* pWnd;
        CRect expected;
    } cases[] = {
        {"top", &top, CRect(0, 0, 300, 20)},
        {"left", &left, CRect(0, 20, 30, 200)},
        {"bottom", &bottom, CRect(30, 190, 300, 200)},
        {"right", &right, CRect(275, 20, 300, 190)},
        {"pane", &pane, CRect(30, 20, 275, 190)},
    };
    for (auto& c : cases) EXPECT_EQ(Str(ChildRect(c.pWnd)), Str(c.expected)) << c.name;

    // Without stretching each bar asks for its own size; a query moves nothing and
    // answers the total size.
    CRect rectTotal;
    host.RepositionBars(0, 0xFFFF, 100, reposQuery, &rectTotal, NULL, FALSE);
    // Widths of the side bars and heights of the top and bottom bars add up; the other
    // dimension is the largest seen so far: 50 | 30+50 | 80 | 80+25 wide, 20 | 40 | 50 high.
    EXPECT_EQ(Str(rectTotal), Str(CRect(0, 0, 105, 50)));
    EXPECT_EQ(Str(ChildRect(&top)), Str(CRect(0, 0, 300, 20)));

    // A bar that is to hide is measured as hidden, but only a real layout hides it.
    bottom.DelayShow(FALSE);
    host.RepositionBars(0, 0xFFFF, 100, reposQuery, &rectTotal);
    EXPECT_EQ(Str(rectTotal), Str(CRect(30, 20, 275, 200)));
    EXPECT_TRUE(bottom.GetStyle() & WS_VISIBLE);
    EXPECT_EQ(bottom.m_nStateFlags & CControlBar::delayHide, (UINT)CControlBar::delayHide);
    host.RepositionBars(0, 0xFFFF, 100);
    EXPECT_FALSE(bottom.GetStyle() & WS_VISIBLE);
    EXPECT_EQ(Str(ChildRect(&pane)), Str(CRect(30, 20, 275, 200)));
    // The bar's help id is its control id.
    EXPECT_EQ(left.SendMessage(WM_HELPHITTEST, 0, 0), (LRESULT)(HID_BASE_CONTROL + 2));
    host.DestroyWindow();
}

TEST(ControlBarLayout, InsideRectOfBordersMarginsAndGripper) {
    CSideBar bar(CSize(10, 10));
    bar.m_dwStyle = CBRS_ALIGN_TOP | CBRS_BORDER_TOP | CBRS_BORDER_LEFT | CBRS_GRIPPER;
    CRect r(0, 0, 100, 50);
    bar.CalcInsideRect(r, TRUE);
    // 2 for each border, the 6/1 margins, the gripper's 7 at the left.
    EXPECT_EQ(Str(r), Str(CRect(2 + 6 + 7, 2 + 1, 100 - 6, 50 - 1)));
    r = CRect(0, 0, 50, 100);
    bar.CalcInsideRect(r, FALSE);
    EXPECT_EQ(Str(r), Str(CRect(2 + 1, 2 + 6 + 7, 50 - 1, 100 - 6)));
    bar.m_dwStyle |= CBRS_FLOATING;  // a floating bar has no gripper
    r = CRect(0, 0, 100, 50);
    bar.CalcInsideRect(r, TRUE);
    EXPECT_EQ(r.left, 2 + 6);
    bar.SetBorders(1, 2, 3, 4);
    EXPECT_EQ(Str(bar.GetBorders()), Str(CRect(1, 2, 3, 4)));
}

TEST(ControlBarPaint, BordersAndGripperInTheSystemColours) {
    const COLORREF fill = RGB(1, 2, 3);
    const COLORREF hilite = ::GetSysColor(COLOR_BTNHIGHLIGHT), shadow = ::GetSysColor(COLOR_BTNSHADOW);
    DibCanvas canvas(40, 20, fill);
    CSideBar bar(CSize(10, 10));
    bar.m_dwStyle = CBRS_ALIGN_TOP | CBRS_BORDER_TOP | CBRS_BORDER_BOTTOM | CBRS_GRIPPER;
    CDC dc;
    dc.Attach(canvas.Dc());
    CRect rect(0, 0, 40, 20);
    bar.DrawBorders(&dc, rect);
    // Each border is a shadow line outside a highlight line, and leaves the rectangle.
    EXPECT_EQ(Str(rect), Str(CRect(0, 2, 40, 18)));
    bar.DrawGripper(&dc, rect);
    dc.Detach();
    struct {
        int x, y;
        COLORREF expected;
        const char* what;
    } points[] = {
        {20, 0, shadow, "top border, outer"},     {20, 1, hilite, "top border, inner"},
        {20, 18, shadow, "bottom border, outer"}, {20, 19, hilite, "bottom border, inner"},
        {2, 10, hilite, "gripper, left edge"},    {4, 10, shadow, "gripper, right edge"},
        {3, 3, hilite, "gripper, top edge"},      {3, 16, shadow, "gripper, bottom edge"},
        {3, 10, fill, "gripper, inside"},         {20, 10, fill, "client"},
        {1, 10, fill, "left of the gripper"},
    };
    for (auto& p : points) EXPECT_EQ(canvas.Pixel(p.x, p.y), p.expected) << p.what;
}

class CStatusFrame : public CFrameWnd {
public:
    BOOL m_bCapsOn = TRUE;
    afx_msg void OnUpdateCaps(CCmdUI* pCmdUI) {
        pCmdUI->Enable(m_bCapsOn);
        pCmdUI->SetText(m_bCapsOn ? "CAPS" : "caps");
    }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CStatusFrame, CFrameWnd)
    ON_UPDATE_COMMAND_UI(IDS_FR_CAPS, &CStatusFrame::OnUpdateCaps)
END_MESSAGE_MAP()

class StatusBarTest : public ::testing::Test {
protected:
    CStatusFrame* m_pFrame = nullptr;
    HWND m_hFrame = NULL;
    CStatusBar m_status;
    void SetUp() override {
        m_pFrame = new CStatusFrame;
        ASSERT_TRUE(m_pFrame->Create(NULL, "Status", WS_OVERLAPPEDWINDOW, CRect(0, 0, 600, 300)));
        m_hFrame = m_pFrame->m_hWnd;
        ASSERT_TRUE(m_status.Create(m_pFrame));
        static const UINT ids[] = {0, IDS_FR_CAPS, IDS_FR_NUMLOCK};
        ASSERT_TRUE(m_status.SetIndicators(ids, 3));
        m_pFrame->RecalcLayout();
    }
    void TearDown() override {
        if (::IsWindow(m_hFrame)) ::DestroyWindow(m_hFrame);
        PumpPending();
    }
};

TEST_F(StatusBarTest, PanesFromIndicatorsShareTheWidth) {
    ASSERT_EQ(m_status.GetCount(), 3);
    EXPECT_EQ(m_status.CommandToIndex(IDS_FR_NUMLOCK), 2);
    EXPECT_EQ(m_status.CommandToIndex(0x1234), -1);
    EXPECT_EQ(m_status.GetPaneText(1), "CAP");
    EXPECT_EQ(m_status.GetPaneText(2), "NUM LOCK");
    UINT nID, nStyle;
    int cx0, cx1, cx2;
    m_status.GetPaneInfo(0, nID, nStyle, cx0);
    EXPECT_EQ(nStyle, (UINT)(SBPS_STRETCH | SBPS_NOBORDERS));
    EXPECT_EQ(cx0, ::GetSystemMetrics(SM_CXSCREEN) / 4);
    m_status.GetPaneInfo(1, nID, nStyle, cx1);
    m_status.GetPaneInfo(2, nID, nStyle, cx2);
    EXPECT_GT(cx2, cx1);  // as wide as their texts

    // The bar spans the frame's bottom.
    CRect client, rcBar;
    m_pFrame->GetClientRect(&client);
    m_status.GetWindowRect(&rcBar);
    m_pFrame->ScreenToClient(&rcBar);
    EXPECT_EQ(rcBar.left, 0);
    EXPECT_EQ(rcBar.right, client.right);
    EXPECT_EQ(rcBar.bottom, client.bottom);
    EXPECT_EQ(rcBar.Height(), m_status.CalcFixedLayout(TRUE, TRUE).cy);

    // Fixed panes keep their width (text + 6); the stretching pane takes the rest.
    int borders[3] = {0, 0, 0};
    m_status.SendMessage(SB_GETBORDERS, 0, (LPARAM)borders);
    int rights[3] = {0, 0, 0};
    ASSERT_EQ(m_status.SendMessage(SB_GETPARTS, 3, (LPARAM)rights), 3);
    const int W = rcBar.Width();
    EXPECT_EQ(rights[2], W) << "last pane ends at the right edge";
    EXPECT_EQ(rights[2] - rights[1], borders[2] + cx2 + 6);
    EXPECT_EQ(rights[1] - rights[0], borders[2] + cx1 + 6);

    CRect rcItem;
    m_status.GetItemRect(2, &rcItem);
    EXPECT_EQ(rcItem.right <= rights[2], true);
    EXPECT_GT(rcItem.Width(), cx2);
    m_status.GetItemRect(7, &rcItem);
    EXPECT_TRUE(rcItem.IsRectEmpty());

    // Widening a fixed pane narrows the stretching one.
    m_status.SetPaneInfo(1, IDS_FR_CAPS, 0, cx1 + 40);
    int rights2[3] = {0, 0, 0};
    m_status.SendMessage(SB_GETPARTS, 3, (LPARAM)rights2);
    EXPECT_EQ(rights2[0], rights[0] - 40);
    EXPECT_EQ(rights2[2], W);
}

TEST_F(StatusBarTest, TextsPromptsAndCommandUI) {
    char buf[64];
    EXPECT_TRUE(m_status.SetPaneText(2, "ready"));
    EXPECT_EQ(m_status.GetPaneText(2), "ready");
    m_status.SendMessage(SB_GETTEXTA, 2, (LPARAM)buf);
    EXPECT_STREQ(buf, "ready");
    EXPECT_FALSE(m_status.SetPaneText(5, "x"));

    // The frame's prompt goes to the pane with id 0; a string id's prompt ends at its
    // newline.
    m_pFrame->SetMessageText(IDS_FR_OPEN);
    EXPECT_EQ(m_status.GetPaneText(0), "Open a file");
    EXPECT_EQ(m_pFrame->m_nIDLastMessage, (UINT)IDS_FR_OPEN);
    m_status.SendMessage(SB_GETTEXTA, 0, (LPARAM)buf);
    EXPECT_STREQ(buf, "Open a file");
    m_pFrame->SetMessageText("Working");
    EXPECT_EQ(m_status.GetPaneText(0), "Working");
    ::GetWindowTextA(m_status.m_hWnd, buf, sizeof(buf));
    EXPECT_STREQ(buf, "Working");
    // The prompt of a tracked command shows at the next idle pass.
    m_pFrame->m_nIDTracking = IDS_FR_OPEN;
    m_pFrame->SendMessage(WM_IDLEUPDATECMDUI, TRUE);
    EXPECT_EQ(m_status.GetPaneText(0), "Open a file");

    // Pane updates through the frame's handlers: text and disabled look.
    m_status.SendMessage(WM_IDLEUPDATECMDUI, TRUE);
    EXPECT_EQ(m_status.GetPaneText(1), "CAPS");
    EXPECT_EQ(m_status.GetPaneStyle(1) & SBPS_DISABLED, 0u);
    m_pFrame->m_bCapsOn = FALSE;
    m_status.SendMessage(WM_IDLEUPDATECMDUI, TRUE);
    EXPECT_EQ(m_status.GetPaneText(1), "caps");
    EXPECT_EQ(m_status.GetPaneStyle(1) & SBPS_DISABLED, (UINT)SBPS_DISABLED);
    m_status.SendMessage(SB_GETTEXTA, 1, (LPARAM)buf);
    EXPECT_STREQ(buf, "") << "a disabled pane shows no text";
    // A pane nobody handles is left as it is.
    EXPECT_EQ(m_status.GetPaneText(2), "ready");
}

TEST_F(StatusBarTest, MenuTrackingPromptsAndTheIdleMessage) {
    HMENU hMenu = ::CreatePopupMenu();
    ::AppendMenuA(hMenu, MF_STRING, IDS_FR_OPEN, "&Open");
    // Hovering an item: its prompt shows at the next idle pass.
    m_pFrame->SendMessage(WM_MENUSELECT, MAKEWPARAM(IDS_FR_OPEN, MF_STRING), (LPARAM)hMenu);
    EXPECT_EQ(m_pFrame->m_nIDTracking, (UINT)IDS_FR_OPEN);
    EXPECT_NE(m_status.GetPaneText(0), "Open a file");
    m_pFrame->SendMessage(WM_IDLEUPDATECMDUI, TRUE);
    EXPECT_EQ(m_status.GetPaneText(0), "Open a file");
    // A system command shows its own prompt.
    m_pFrame->SendMessage(WM_MENUSELECT, MAKEWPARAM(SC_CLOSE, MF_STRING), (LPARAM)hMenu);
    m_pFrame->SendMessage(WM_IDLEUPDATECMDUI, TRUE);
    EXPECT_EQ(m_status.GetPaneText(0), "Close the active window and prompts to save the documents");
    // The menu closing brings the idle message back at once.
    m_pFrame->SendMessage(WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);
    EXPECT_EQ(m_status.GetPaneText(0), "Ready");
    EXPECT_EQ(m_pFrame->m_nIDLastMessage, (UINT)AFX_IDS_IDLEMESSAGE);
    ::DestroyMenu(hMenu);
}

TEST(StatusBarIndicators, AMissingStringFailsAndLeavesTheEarlierPanes) {
    CWnd host;
    ASSERT_TRUE(host.CreateEx(0, AfxRegisterWndClass(0), "host", WS_POPUP, 0, 0, 300, 100, NULL, NULL));
    CStatusBar bar;
    ASSERT_TRUE(bar.Create(&host));
    EXPECT_EQ(bar.GetBarStyle() & CBRS_ALIGN_ANY, (DWORD)CBRS_ALIGN_BOTTOM);
    static const UINT ids[] = {IDS_FR_CAPS, 0x7DFF, IDS_FR_NUMLOCK};
    EXPECT_FALSE(bar.SetIndicators(ids, 3));
    ASSERT_EQ(bar.GetCount(), 3);
    EXPECT_EQ(bar.GetPaneText(0), "CAP");
    EXPECT_EQ(bar.GetPaneText(1), "");
    EXPECT_EQ(bar.GetItemID(1), 0x7DFFu);
    // Panes after the failing one stay unset.
    EXPECT_EQ(bar.GetItemID(2), 0u);
    EXPECT_EQ(bar.GetPaneText(2), "");
    // Panes of a status bar in a plain window still lay out through RepositionBars.
    host.RepositionBars(0, 0xFFFF, 0);
    CRect rc;
    bar.GetWindowRect(&rc);
    host.ScreenToClient(&rc);
    EXPECT_EQ(rc.bottom, 100);
    EXPECT_EQ(rc.Width(), 300);
    host.DestroyWindow();
}

}  // namespace
