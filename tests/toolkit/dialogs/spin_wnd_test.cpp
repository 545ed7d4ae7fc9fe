// The themed spin button: the non-client inset beside an edit (and none beside other
// windows), and the pressed half dropped on WM_CANCELMODE.
#include <gtest/gtest.h>
#include "toolkit/dialogs/spin_wnd.h"
#include "support/message_pump.h"

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
