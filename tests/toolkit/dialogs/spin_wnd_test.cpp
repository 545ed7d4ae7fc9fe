// The themed spin button: the non-client inset beside an edit (and none beside other
// windows), and the pressed half dropped on WM_CANCELMODE.
#include <gtest/gtest.h>
#include "toolkit/dialogs/spin_wnd.h"
#include "support/message_pump.h"
#include <vector>

using namespace testsupport;

TEST(SpinWnd, InsetBesideAnEditOnlyAndCancelModeDropsThePress)
{
    CWnd parent;
    ASSERT_TRUE(parent.CreateEx(0, AfxRegisterWndClass(0), "parent", WS_POPUP | WS_VISIBLE, 40, 40, 300, 120, NULL,
                                NULL));
    struct Case
    {
        const char* sBuddyClass;
        bool bInset;
    } const kCases[] = {{"EDIT", true}, {"COMBOBOX", false}};
    for (const Case& c : kCases)
    {
        SCOPED_TRACE(c.sBuddyClass);
        HWND hBuddy = ::CreateWindowA(c.sBuddyClass, "1", WS_CHILD | WS_VISIBLE | WS_BORDER, 10, 10, 60, 20,
                                      parent.m_hWnd, NULL, NULL, NULL);
        HWND hSpin = ::CreateWindowA(UPDOWN_CLASSA, "", WS_CHILD | WS_VISIBLE | UDS_AUTOBUDDY | UDS_ALIGNRIGHT, 0, 0,
                                     16, 20, parent.m_hWnd, NULL, NULL, NULL);
        CExtSpinWnd spin;
        ASSERT_TRUE(spin.SubclassWindow(hSpin));
        spin.SetWindowPos(NULL, 0, 0, 0, 0, SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER);
        PumpPending();
        CRect rcNc(0, 0, 0, 0);
        g_CurrentPaintManager.GetPM()->GetSpinNcSize(rcNc, true, false, false);
        CRect rcWnd, rcClient;
        spin.GetWindowRect(&rcWnd);
        spin.GetClientRect(&rcClient);
        EXPECT_EQ(1, spin.m_bNcCalcDone);
        if (c.bInset)
            EXPECT_EQ(CSize(rcWnd.Width() - rcNc.left - rcNc.right, rcWnd.Height() - rcNc.top - rcNc.bottom),
                      rcClient.Size());
        else
            EXPECT_EQ(rcWnd.Size(), rcClient.Size());

        // A press on the upper half holds the mouse until the mode is cancelled.
        EXPECT_TRUE(spin.OnMouseClick(rcClient.Width() / 2, 1, true, 1));
        EXPECT_EQ(1, spin.m_bPressedFirst);
        EXPECT_EQ(0, spin.m_bPressedSecond);
        EXPECT_EQ(spin.m_hWnd, ::GetCapture());
        EXPECT_FALSE(spin.OnMouseClick(1, 1, true, 2)) << "only the left button";
        spin.SendMessage(WM_CANCELMODE);
        EXPECT_EQ(0, spin.m_bPressedFirst);
        EXPECT_NE(spin.m_hWnd, ::GetCapture());
        spin.DestroyWindow();
        ::DestroyWindow(hBuddy);
    }
    parent.DestroyWindow();
}

namespace {

// Records what the spin tells the theme while it paints.
class SpinRecordingPM : public CExtPaintManagerXP
{
public:
    int m_nPaintDone = 0;
    std::vector<bool> m_enabled;  // one entry per half drawn
    void NotifyPaintDone(CObject* pHelperSrc, LPARAM lParam) override
    {
        m_nPaintDone++;
        CExtPaintManagerXP::NotifyPaintDone(pHelperSrc, lParam);
    }
    void DrawSpinButton(CDC& dc, const RECT& rc, bool bTowardStart, bool bHorz, bool bEnabled, bool bFlat,
                        bool bBorderOnHover, bool bPushed, bool bHover, bool bHot, CObject* pHelperSrc,
                        LPARAM lParam) override
    {
        m_enabled.push_back(bEnabled);
        CExtPaintManagerXP::DrawSpinButton(dc, rc, bTowardStart, bHorz, bEnabled, bFlat, bBorderOnHover, bPushed,
                                           bHover, bHot, pHelperSrc, lParam);
    }
};

}  // namespace

// Clicks reach the common control, which steps the buddy by the acceleration's first
// increment; the spin paints disabled with a disabled buddy and tells the theme when done.
TEST(SpinWnd, ClicksStepTheBuddyAndPaintingFollowsIt)
{
    SpinRecordingPM* pPM = new SpinRecordingPM;
    ASSERT_TRUE(g_CurrentPaintManager.InstallPaintManager(pPM));
    CWnd parent;
    ASSERT_TRUE(parent.CreateEx(0, AfxRegisterWndClass(0), "parent", WS_POPUP | WS_VISIBLE, 40, 40, 300, 120, NULL,
                                NULL));
    HWND hBuddy = ::CreateWindowA("EDIT", "", WS_CHILD | WS_VISIBLE | WS_BORDER, 10, 10, 60, 22, parent.m_hWnd, NULL,
                                  NULL, NULL);
    HWND hSpin = ::CreateWindowA(UPDOWN_CLASSA, "", WS_CHILD | WS_VISIBLE | UDS_AUTOBUDDY | UDS_SETBUDDYINT |
                                 UDS_ALIGNRIGHT | UDS_NOTHOUSANDS, 0, 0, 16, 22, parent.m_hWnd, NULL, NULL, NULL);
    CExtSpinWnd spin;
    ASSERT_TRUE(spin.SubclassWindow(hSpin));
    spin.SetRange32(0, 100);
    spin.SetPos32(10);
    UDACCEL accel[2] = {{0, 5}, {1, 20}};
    spin.SetAccel(2, accel);
    CRect rcClient;
    spin.GetClientRect(&rcClient);
    struct Case
    {
        const char* sName;
        int y;
        const char* sExpected;
    } const kCases[] = {{"down half", rcClient.bottom - 3, "5"}, {"up half", 1, "10"}};
    for (const Case& c : kCases)
    {
        SCOPED_TRACE(c.sName);
        const LPARAM pt = MAKELPARAM(rcClient.Width() / 2, c.y);
        spin.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, pt);
        EXPECT_EQ(c.y < rcClient.Height() / 2 ? 1 : 0, spin.m_bPressedFirst);
        spin.SendMessage(WM_LBUTTONUP, 0, pt);
        PumpPending();
        char sz[16] = {0};
        ::GetWindowTextA(hBuddy, sz, 16);
        EXPECT_STREQ(c.sExpected, sz);
        EXPECT_EQ(0, spin.m_bPressedFirst + spin.m_bPressedSecond);
    }
    for (bool bBuddyEnabled : {true, false})
    {
        SCOPED_TRACE(bBuddyEnabled ? "buddy enabled" : "buddy disabled");
        ::EnableWindow(hBuddy, bBuddyEnabled);
        pPM->m_enabled.clear();
        const int nDone = pPM->m_nPaintDone;
        spin.RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW);
        ASSERT_EQ(2u, pPM->m_enabled.size());
        EXPECT_EQ(bBuddyEnabled, pPM->m_enabled[0]);
        EXPECT_EQ(bBuddyEnabled, pPM->m_enabled[1]);
        EXPECT_EQ(nDone + 1, pPM->m_nPaintDone);
    }
    spin.DestroyWindow();
    parent.DestroyWindow();
    g_CurrentPaintManager.InstallPaintManager(new CExtPaintManagerXP);
}
