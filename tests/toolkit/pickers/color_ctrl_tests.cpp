#include <gtest/gtest.h>

#include <vector>

#include "support/dib_canvas.h"
#include "support/message_pump.h"
#include "support/msg_recorder.h"
#include "toolkit/pickers/color_ctrl.h"

using testsupport::MsgRecorder;

namespace {

// The host: a plain top-level window that records the control's notifications with
// the colours they carried at the time they were sent.
struct HostRecord {
    static MsgRecorder* s_pRecorder;
    static std::vector<CExtColorCtrl::selection_colors_t> s_colors;
};
MsgRecorder* HostRecord::s_pRecorder = nullptr;
std::vector<CExtColorCtrl::selection_colors_t> HostRecord::s_colors;

LRESULT CALLBACK HostProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == CExtColorCtrl::g_nMsgColorChanged) {
        if (HostRecord::s_pRecorder != nullptr)
            HostRecord::s_pRecorder->Record(message, wParam, lParam, hWnd, "host");
        HostRecord::s_colors.push_back(*reinterpret_cast<CExtColorCtrl::selection_colors_t*>(lParam));
        return 0;
    }
    return ::DefWindowProcA(hWnd, message, wParam, lParam);
}

class ColorCtrlTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = HostProc;
        wc.hInstance = ::GetModuleHandleA(NULL);
        wc.lpszClassName = "PickersTestHost";
        wc.hbrBackground = (HBRUSH)(COLOR_BTNFACE + 1);
        ::RegisterClassA(&wc);
        m_hHost = ::CreateWindowExA(0, "PickersTestHost", "host", WS_POPUP, 0, 0,
                                    320, 300, NULL, NULL, wc.hInstance, NULL);
        ASSERT_NE(nullptr, m_hHost) << "error " << ::GetLastError();
        // The placeholder the host's template would hold.
        m_hChild = ::CreateWindowExA(0, "PickersTestHost", "", WS_CHILD | WS_VISIBLE, 0, 0, 300,
                                     276, m_hHost, NULL, wc.hInstance, NULL);
        ASSERT_NE(nullptr, m_hChild);
        HostRecord::s_pRecorder = &m_rec;
        HostRecord::s_colors.clear();
        m_rec.Only({CExtColorCtrl::g_nMsgColorChanged});
    }
    void TearDown() override
    {
        HostRecord::s_pRecorder = nullptr;
        if (m_ctrl.GetSafeHwnd() != NULL)
            m_ctrl.DestroyWindow();
        if (m_hHost != NULL)
            ::DestroyWindow(m_hHost);
        testsupport::PumpPending();
    }
    void Attach(CExtColorCtrl::e_mode_t eMode)
    {
        m_ctrl.m_eMode = eMode;
        ASSERT_TRUE(m_ctrl.SubclassWindow(m_hChild));
        testsupport::PumpPending();
    }
    void Send(UINT message, UINT nFlags, int x, int y)
    {
        ::SendMessageA(m_hChild, message, nFlags, MAKELPARAM(x, y));
    }

    MsgRecorder m_rec;
    CExtColorCtrl m_ctrl;
    HWND m_hHost = NULL;
    HWND m_hChild = NULL;
};

// The gray-scale mode in a 300 x 276 client: level cells 2 high, one pixel apart from
// y = 10, so a point at y picks level y - 11 (the first cell holding it).
TEST_F(ColorCtrlTest, DragSendsOneNotificationPerChange)
{
    Attach(CExtColorCtrl::MODE_GRAYSCALE_MIXER);
    Send(WM_LBUTTONDOWN, MK_LBUTTON, 120, 110);
    EXPECT_EQ(m_ctrl.GetSafeHwnd(), ::GetCapture());
    for (int y = 111; y <= 120; ++y)
        Send(WM_MOUSEMOVE, MK_LBUTTON, 120, y);
    Send(WM_MOUSEMOVE, MK_LBUTTON, 121, 120);  // the same cell: no change
    Send(WM_LBUTTONUP, 0, 121, 120);
    EXPECT_EQ(nullptr, ::GetCapture());
    ASSERT_EQ(11u, HostRecord::s_colors.size()) << m_rec.Dump();
    EXPECT_TRUE(m_rec.Matches(std::vector<testsupport::ExpectedMsg>(
        11, {CExtColorCtrl::g_nMsgColorChanged,
             testsupport::kSent | testsupport::kWParam | testsupport::kLParam | testsupport::kHwnd,
             (WPARAM)m_hChild, (LPARAM)&m_ctrl.m_selClrs, m_hHost})));
    EXPECT_EQ(RGB(99, 99, 99), HostRecord::s_colors[0].m_clrCurrent);
    EXPECT_EQ(RGB(255, 255, 255), HostRecord::s_colors[0].m_clrPrevious);
    for (int i = 1; i <= 10; ++i) {
        int nLevel = 99 + i;
        EXPECT_EQ(RGB(nLevel, nLevel, nLevel), HostRecord::s_colors[i].m_clrCurrent) << "step " << i;
        EXPECT_EQ(RGB(nLevel - 1, nLevel - 1, nLevel - 1), HostRecord::s_colors[i].m_clrPrevious)
            << "step " << i;
        EXPECT_EQ(RGB(255, 255, 255), HostRecord::s_colors[i].m_clrReference) << "step " << i;
    }
}

TEST_F(ColorCtrlTest, PressWithoutChangeAndQuietSetNotifyNothing)
{
    Attach(CExtColorCtrl::MODE_GRAYSCALE_MIXER);
    m_ctrl.SetCurrentColor(RGB(99, 99, 99), false);
    EXPECT_EQ(RGB(255, 255, 255), m_ctrl.m_clrPrevious);
    EXPECT_EQ(RGB(99, 99, 99), m_ctrl.GetActivePicker()->GetColor());
    Send(WM_LBUTTONDOWN, MK_LBUTTON, 120, 110);
    Send(WM_LBUTTONUP, 0, 120, 110);
    EXPECT_EQ(0u, HostRecord::s_colors.size());

    m_ctrl.SetCurrentColor(RGB(1, 2, 3), true);
    ASSERT_EQ(1u, HostRecord::s_colors.size());
    EXPECT_EQ(RGB(1, 2, 3), HostRecord::s_colors[0].m_clrCurrent);
    EXPECT_EQ(RGB(255, 255, 255), HostRecord::s_colors[0].m_clrPrevious);
    m_ctrl.SetCurrentColor(RGB(1, 2, 3), true);  // the same colour: repaint only
    EXPECT_EQ(1u, HostRecord::s_colors.size());
}

TEST_F(ColorCtrlTest, KeyPressEndsTheDrag)
{
    Attach(CExtColorCtrl::MODE_GRAYSCALE_MIXER);
    Send(WM_LBUTTONDOWN, MK_LBUTTON, 120, 110);
    ::SendMessageA(m_hChild, WM_KEYDOWN, VK_SPACE, 0);
    EXPECT_FALSE(m_ctrl.m_bTracking);
    EXPECT_EQ(nullptr, ::GetCapture());
    Send(WM_MOUSEMOVE, MK_LBUTTON, 120, 150);
    EXPECT_EQ(1u, HostRecord::s_colors.size());
    EXPECT_EQ(RGB(99, 99, 99), m_ctrl.m_clrCurrent);

    Send(WM_LBUTTONDOWN, MK_LBUTTON, 120, 110);
    ::SendMessageA(m_hChild, WM_CANCELMODE, 0, 0);
    EXPECT_FALSE(m_ctrl.m_bTracking);
}

TEST_F(ColorCtrlTest, ModeChangeResetsAndLaysOutTheNewPicker)
{
    Attach(CExtColorCtrl::MODE_DIFF);
    m_ctrl.m_clrReference = RGB(255, 0, 0);
    m_ctrl.RecalcLayout(false);
    m_ctrl.SetCurrentColor(RGB(0, 0, 255), false);
    Send(WM_LBUTTONDOWN, MK_LBUTTON, 10, 200);  // the lower cell: back to the reference
    Send(WM_LBUTTONUP, 0, 10, 200);
    ASSERT_EQ(1u, HostRecord::s_colors.size());
    EXPECT_EQ(RGB(255, 0, 0), HostRecord::s_colors[0].m_clrCurrent);
    EXPECT_EQ(RGB(0, 0, 255), HostRecord::s_colors[0].m_clrPrevious);

    m_ctrl.m_eMode = CExtColorCtrl::MODE_RGB_MIXER;
    m_ctrl.RecalcLayout(false);
    EXPECT_EQ(RGB(255, 0, 0), m_ctrl.GetActivePicker()->GetColor());
    Send(WM_LBUTTONDOWN, MK_LBUTTON, 120, 60);  // green level 49
    Send(WM_LBUTTONUP, 0, 120, 60);
    EXPECT_EQ(RGB(255, 49, 0), m_ctrl.m_clrCurrent);
}

TEST_F(ColorCtrlTest, ResizeKeepsCellColours)
{
    Attach(CExtColorCtrl::MODE_BASIC_COLORS);
    CExtColorCtrl::cell_based_data_t* pPicker =
        static_cast<CExtColorCtrl::cell_based_data_t*>(m_ctrl.GetActivePicker());
    ASSERT_EQ(144, pPicker->m_arrCells.GetSize());
    pPicker->m_arrCells[5].m_clr = RGB(7, 7, 7);
    ::SetWindowPos(m_hChild, NULL, 0, 0, 200, 200, SWP_NOZORDER | SWP_NOMOVE);
    EXPECT_EQ(RGB(7, 7, 7), pPicker->m_arrCells[5].m_clr);
    EXPECT_EQ(100, pPicker->m_arrCells[0].m_pts[1].x);
}

// Painting goes through a memory DC onto the window: the comparison cells over the
// theme's background (logical colour 1000) where the odd last row is left uncovered.
TEST_F(ColorCtrlTest, PaintsTheActivePickerOverTheThemeBackground)
{
    ::SetWindowPos(m_hChild, NULL, 0, 0, 100, 51, SWP_NOZORDER | SWP_NOMOVE);
    Attach(CExtColorCtrl::MODE_DIFF);
    m_ctrl.m_clrReference = RGB(255, 0, 0);
    m_ctrl.RecalcLayout(false);
    m_ctrl.SetCurrentColor(RGB(0, 0, 255), false);
    ::ShowWindow(m_hHost, SW_SHOWNOACTIVATE);
    ::RedrawWindow(m_hChild, NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    testsupport::DibCanvas canvas(100, 51, RGB(1, 2, 3));
    HDC hDC = ::GetDC(m_hChild);
    ::BitBlt(canvas.Dc(), 0, 0, 100, 51, hDC, 0, 0, SRCCOPY);
    ::ReleaseDC(m_hChild, hDC);
    EXPECT_EQ(RGB(0, 0, 255), canvas.Pixel(50, 10));
    EXPECT_EQ(RGB(255, 0, 0), canvas.Pixel(50, 40));
    CExtPaintManager* pPM = g_CurrentPaintManager.GetPM();
    ASSERT_NE(nullptr, pPM);
    COLORREF clrBack = pPM->LookupColor(1000, &m_ctrl);
    // The screen is 24-bit: compare what the display keeps of the colour.
    EXPECT_EQ(clrBack & 0xF8F8F8, canvas.Pixel(50, 50) & 0xF8F8F8);
}

TEST(ColorCtrlNames, ModeNamesHaveALeadingBlank)
{
    const char* expected[16] = {
        " basic colors", " hue, saturation and luminance - mixer",
        " hue, saturation and luminance - basic hue", " hue, saturation and luminance - roller",
        " red, green and blue - cube", " red, green and blue - mixer", " gray scale mixer",
        " cyan, magenta and yellow - cube", " cyan, magenta and yellow - mixer", " red axis",
        " green axis", " blue axis", " cyan axis", " magenta axis", " yellow axis", ""};
    for (int i = 0; i < 16; ++i) {
        CString str = "x";
        CExtColorCtrl::GetModeName(str, i);
        EXPECT_STREQ(expected[i], (LPCTSTR)str) << "mode " << i;
    }
}

TEST(ColorCtrlNames, NewControlIsWhiteAndDynamicallyCreatable)
{
    CObject* pObject = RUNTIME_CLASS(CExtColorCtrl)->CreateObject();
    ASSERT_NE(nullptr, pObject);
    CExtColorCtrl* pCtrl = static_cast<CExtColorCtrl*>(pObject);
    EXPECT_EQ(CExtColorCtrl::MODE_BASIC_COLORS, pCtrl->m_eMode);
    EXPECT_EQ(RGB(255, 255, 255), pCtrl->m_clrReference);
    EXPECT_EQ(RGB(255, 255, 255), pCtrl->m_clrCurrent);
    EXPECT_EQ(RGB(255, 255, 255), pCtrl->m_clrPrevious);
    delete pObject;
}

}  // namespace
