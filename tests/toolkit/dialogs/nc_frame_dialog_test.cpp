// The themed-frame dialog: with the frame inactive (no theme supports one) it is the
// resizable dialog, with the frame part initialised and reset around the window; under a
// theme that draws the frame, its caption buttons and hit test judge the point the hand
// made, not where the pointer is when the dialog's thread takes the input.
#include <gtest/gtest.h>
#include <vector>
#include "toolkit/dialogs/nc_frame_dialog.h"
#include "anchor_test_dialog.h"
#include "support/message_pump.h"
#include "support/mouse_input.h"

using namespace anchortest;

TEST(NcFrameDialog, ThemedFrameDialogWithTheFrameInactiveActsAsTheResizableDialog)
{
    typedef CAnchorDlgT<CExtNCW<CExtResizableDialog>> CNcAnchorDlg;
    CNcAnchorDlg dlg;
    ASSERT_TRUE(dlg.Create(IDD_DT_ANCHORS, NULL));
    EXPECT_EQ(dlg.m_hWnd, dlg.GetFrameHwnd());
    EXPECT_FALSE(dlg.IsNcFrameActive());  // no theme supports a themed frame
    EXPECT_TRUE(dlg.m_dwSavedStyle & WS_THICKFRAME);
    EXPECT_TRUE(dlg.GetStyle() & WS_THICKFRAME);
    EXPECT_TRUE(dlg.IsKindOf(RUNTIME_CLASS(CExtResizableDialog)));
    EXPECT_TRUE(dlg.GetSizeGrip().m_hWnd != NULL);
    CheckAnchoredResize(dlg);
    dlg.DestroyWindow();
    EXPECT_EQ(CPoint(-32767, -32767), dlg.m_ptLastHover);
}

namespace {

// A theme that draws the frame, so that the frame acts: borders of 4 pixels, a caption
// 24 high and Minimise, Maximise and Close at its right end (window coordinates).
class CFramingTheme : public CExtPaintManagerXP
{
public:
    bool IsThemedFrameSupported(const CWnd*, LPARAM) override { return true; }
    void GetThemedFrameBorders(RECT& rcBorders, RECT& rcCaption, const CWnd*, LPARAM) override
    {
        ::SetRect(&rcBorders, 4, 28, 4, 4);
        ::SetRect(&rcCaption, 0, 0, 0, 24);
    }
    RECT GetThemedFrameRect(const CWnd*, const RECT& rcWnd, bool, bool, bool, UINT, LPARAM) override
    {
        const RECT rc = {4, 4, rcWnd.right - 4, 28};
        return rc;
    }
    void GetThemedFrameButtonRects(const CWnd*, const RECT& rcWnd, bool, RECT& rcIcon, RECT& rcText, RECT& rcHelp,
                                   RECT& rcMin, RECT& rcMax, RECT& rcClose, DWORD, LPARAM) override
    {
        const int cx = rcWnd.right;
        ::SetRect(&rcIcon, 6, 6, 22, 26);
        ::SetRect(&rcText, 24, 4, cx - 80, 28);
        ::SetRectEmpty(&rcHelp);
        ::SetRect(&rcMin, cx - 74, 6, cx - 54, 26);
        ::SetRect(&rcMax, cx - 50, 6, cx - 30, 26);
        ::SetRect(&rcClose, cx - 26, 6, cx - 6, 26);
    }
};

// Where the hand goes, in the coordinates of the 360 x 240 window.
const POINT kClose = {344, 16}, kMaximize = {320, 16}, kMinimize = {296, 16}, kCaption = {150, 16},
            kClient = {180, 120}, kLeftOfWindow = {-30, 16};

// Keeps the system commands its frame sends instead of carrying them out, so that one
// window serves every case.
class CFramedDlg : public CExtNCW<CExtResizableDialog>
{
public:
    CFramedDlg() : CExtNCW<CExtResizableDialog>(IDD_DT_ANCHORS) {}
    std::vector<UINT> m_commands;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_SYSCOMMAND)
        {
            m_commands.push_back((UINT)(wParam & 0xFFF0));
            return 0;
        }
        return CExtNCW<CExtResizableDialog>::WindowProc(message, wParam, lParam);
    }
};

class NcFrameInputTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_pSavedTheme = g_CurrentPaintManager->GetRuntimeClass();
        g_CurrentPaintManager.InstallPaintManager(new CFramingTheme);
        ASSERT_TRUE(m_dlg.Create(IDD_DT_ANCHORS, NULL));
        ASSERT_TRUE(m_dlg.IsNcFrameActive());
        // Well away from the screen's origin: a screen point taken as a client one misses.
        Place(240, 180);
        ::SetForegroundWindow(m_dlg.m_hWnd);
        ::SetActiveWindow(m_dlg.m_hWnd);
        testsupport::PumpPending();
    }
    void TearDown() override
    {
        if (m_dlg.GetSafeHwnd() != NULL)
            m_dlg.DestroyWindow();
        g_CurrentPaintManager.InstallPaintManagerByClass(m_pSavedTheme);
    }
    void Place(int x, int y) { m_dlg.SetWindowPos(NULL, x, y, 360, 240, SWP_NOZORDER | SWP_SHOWWINDOW); }
    // The screen point of a point of the window.
    POINT At(POINT ptWnd)
    {
        RECT rcWnd;
        m_dlg.GetWindowRect(&rcWnd);
        return CPoint(rcWnd.left + ptWnd.x, rcWnd.top + ptWnd.y);
    }

    CRuntimeClass* m_pSavedTheme = NULL;
    CFramedDlg m_dlg;
};

}  // namespace

// Close, Minimise and Maximise act when the release is made on the button the press was
// made on, whatever the pointer does before the dialog's thread takes them (the thread is
// held: it takes nothing until the hand is done). The caption lies above the client area,
// so a release on a button under the frame's capture carries a negative client point.
TEST_F(NcFrameInputTest, CaptionButtonsAreJudgedWhereThePressAndReleaseWereMade)
{
    const struct
    {
        const char* what;
        POINT press;
        bool bPressHeld;  // the press too is made while the thread is held
        POINT release, after;
        int nClicks;
        std::vector<UINT> commands;
    } cases[] = {
        {"Close: released on it, the pointer moved into the client area", kClose, false, kClose, kClient, 1,
         {SC_CLOSE}},
        {"Minimise: pressed and released on it, the pointer moved into the client area", kMinimize, true,
         kMinimize, kClient, 1, {SC_MINIMIZE}},
        {"Maximise: pressed and released on it, the pointer moved onto Close", kMaximize, true, kMaximize,
         kClose, 1, {SC_MAXIMIZE}},
        {"Close: released on Maximise, the pointer moved back onto Close", kClose, false, kMaximize, kClose, 1,
         {}},
        {"Minimise: released in the client area, the pointer moved back onto it", kMinimize, false, kClient,
         kMinimize, 1, {}},
        {"Close: released left of the window, the pointer moved back onto it", kClose, false, kLeftOfWindow,
         kClose, 1, {}},
        {"Close: clicked twice quickly, the pointer moved onto the caption", kClose, true, kClose, kCaption, 2,
         {SC_CLOSE, SC_CLOSE}},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.what);
        // No click of this case makes a double-click with the last one's.
        testsupport::PumpFor(::GetDoubleClickTime() + 50);
        m_dlg.m_commands.clear();
        for (int nClick = 0; nClick < c.nClicks; nClick++)
        {
            testsupport::SendMouse(0, At(c.press));
            testsupport::SendMouse(MOUSEEVENTF_LEFTDOWN, At(c.press));
            if (!c.bPressHeld)
                EXPECT_TRUE(testsupport::PumpUntilIdle([&] { return ::GetCapture() == m_dlg.m_hWnd; }));
            testsupport::SendMouse(0, At(c.release));
            testsupport::SendMouse(MOUSEEVENTF_LEFTUP, At(c.release));
        }
        testsupport::SendMouse(0, At(c.after));
        EXPECT_TRUE(testsupport::PumpUntilIdle());
        EXPECT_EQ(c.commands, m_dlg.m_commands);
        EXPECT_EQ(0u, m_dlg.m_nPushedSysCmd);
        EXPECT_NE(m_dlg.m_hWnd, ::GetCapture());
    }
}

// The hit test answers for the point the system asks about (that of the mouse message it
// places), not for where the pointer is by then; a window partly left of the screen is
// asked about negative points.
TEST_F(NcFrameInputTest, TheHitTestJudgesThePointItIsAskedAbout)
{
    const struct
    {
        const char* what;
        int xWindow;
        POINT asked, pointer;
        LRESULT nHit;
    } cases[] = {
        {"Close, the pointer in the client area", 240, kClose, kClient, HTCAPTION},
        {"Minimise, the pointer in the client area", 240, kMinimize, kClient, HTCAPTION},
        {"the client area, the pointer on Maximise", 240, kClient, kMaximize, HTCLIENT},
        {"the caption, the window partly left of the screen", -200, kCaption, kClient, HTCAPTION},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.what);
        Place(c.xWindow, 180);
        const POINT ptAsked = At(c.asked), ptPointer = At(c.pointer);
        ::SetCursorPos(ptPointer.x, ptPointer.y);
        EXPECT_EQ(c.nHit, m_dlg.SendMessage(WM_NCHITTEST, 0, MAKELPARAM(ptAsked.x, ptAsked.y)));
    }
}
