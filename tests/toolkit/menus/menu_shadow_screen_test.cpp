// The shadow of a shown menu and of a rectangular tip, read back from the screen: its
// strips darken what lay under the popup before it showed, not the popup's own pixels.
#include <gtest/gtest.h>

#include "framework/framework.h"
#include "support/message_pump.h"
#include "toolkit/menus/popup_menu_tip_wnd.h"
#include "toolkit/menus/popup_menu_wnd.h"
#include "toolkit/theme/paint_manager.h"

using testsupport::PumpFor;
using testsupport::PumpPending;
using testsupport::PumpUntil;

namespace {

const COLORREF kBack = RGB(200, 120, 40);

LRESULT CALLBACK BackdropProc(HWND hWnd, UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == WM_ERASEBKGND)
    {
        RECT rc;
        ::GetClientRect(hWnd, &rc);
        HBRUSH hBr = ::CreateSolidBrush(kBack);
        ::FillRect((HDC)wp, &rc, hBr);
        ::DeleteObject(hBr);
        return 1;
    }
    return ::DefWindowProcA(hWnd, msg, wp, lp);
}

COLORREF ScreenPixel(int x, int y)
{
    HDC hdc = ::GetDC(NULL);
    HDC hdcMem = ::CreateCompatibleDC(hdc);
    HBITMAP hBmp = ::CreateCompatibleBitmap(hdc, 1, 1);
    HGDIOBJ hOld = ::SelectObject(hdcMem, hBmp);
    ::BitBlt(hdcMem, 0, 0, 1, 1, hdc, x, y, SRCCOPY);
    const COLORREF clr = ::GetPixel(hdcMem, 0, 0);
    ::SelectObject(hdcMem, hOld);
    ::DeleteObject(hBmp);
    ::DeleteDC(hdcMem);
    ::ReleaseDC(NULL, hdc);
    return clr;
}

COLORREF Darkened(COLORREF clr, int nPercent)
{
    return RGB(GetRValue(clr) * nPercent / 100, GetGValue(clr) * nPercent / 100, GetBValue(clr) * nPercent / 100);
}

class ShadowScreenTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        g_CurrentPaintManager.InstallPaintManagerByClass(RUNTIME_CLASS(CExtPaintManagerXP));
        WNDCLASSA wc = {};
        wc.lpfnWndProc = BackdropProc;
        wc.hInstance = ::GetModuleHandleA(NULL);
        wc.lpszClassName = "ShadowScreenBackdrop";
        ::RegisterClassA(&wc);
        // The backdrop crosses the screen's left edge: such a window reads back painted.
        m_hWndBack = ::CreateWindowExA(WS_EX_TOPMOST, "ShadowScreenBackdrop", "", WS_POPUP | WS_VISIBLE, -20, 100,
                                       420, 300, NULL, NULL, NULL, NULL);
        ::UpdateWindow(m_hWndBack);
        PumpFor(100);
        m_nSavedAnimation = CExtPopupBaseWnd::g_nDefaultAnimation;
        CExtPopupBaseWnd::g_nDefaultAnimation = 0;
    }
    void TearDown() override
    {
        CExtPopupMenuWnd::CancelMenuTracking();
        PumpPending();
        CExtPopupBaseWnd::g_nDefaultAnimation = m_nSavedAnimation;
        ::DestroyWindow(m_hWndBack);
    }
    HWND m_hWndBack = NULL;
    int m_nSavedAnimation = 0;
};

}  // namespace

TEST_F(ShadowScreenTest, MenuShadowDarkensTheScreenUnderIt)
{
    ASSERT_EQ(ScreenPixel(200, 250), kBack) << "backdrop not on screen";
    CExtPopupMenuWnd* pMenu = new CExtPopupMenuWnd;
    ASSERT_TRUE(pMenu->CreatePopupMenu(m_hWndBack));
    pMenu->ItemInsertCommand(0x7A01, -1, "Shadowed item");
    pMenu->ItemInsertCommand(0x7A02, -1, "Second item");
    ASSERT_TRUE(pMenu->TrackPopupMenu(CExtPopupMenuWnd::TMF_NO_CMD_UI, 60, 130));
    ASSERT_TRUE(PumpUntil([&] { return pMenu->IsAnimationDone(); }, 2000));
    PumpFor(100);
    CRect rcWnd;
    pMenu->GetWindowRect(&rcWnd);
    CRect rcP;
    pMenu->GetPaintRect(rcP);
    rcP.OffsetRect(rcWnd.TopLeft());
    const int S = pMenu->GetShadowSize();
    ASSERT_EQ(S, 4);
    struct Case
    {
        const char* sWhere;
        int x, y, nPercent;
    } cases[] = {
        {"right strip next to the body", rcP.right, rcP.top + rcP.Height() / 2, 75},
        {"right strip outer column", rcP.right + 3, rcP.top + rcP.Height() / 2, 93},
        {"bottom strip next to the body", rcP.left + rcP.Width() / 2, rcP.bottom, 75},
        {"bottom strip outer row", rcP.left + rcP.Width() / 2, rcP.bottom + 3, 93},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ScreenPixel(c.x, c.y), Darkened(kBack, c.nPercent)) << c.sWhere;
    EXPECT_EQ(ScreenPixel(rcP.right + 3, rcP.bottom + 3), kBack) << "outside the rounded corner";
}

TEST_F(ShadowScreenTest, RectangleTipShadowDarkensTheScreenUnderIt)
{
    CExtPopupMenuTipWnd tip;
    tip.SetTipStyle(CExtPopupMenuTipWnd::__ETS_RECTANGLE_NO_ICON);
    tip.SetText("A tip over the backdrop");
    CWnd* pOwner = CWnd::FromHandle(m_hWndBack);
    ::SetCursorPos(100, 210);  // the tip stays while the pointer is in its area
    ASSERT_TRUE(tip.Show(pOwner, CRect(60, 200, 200, 220)));
    ASSERT_TRUE(PumpUntil([&] { return tip.IsWindowVisible() != FALSE; }, 2000));
    PumpFor(50);
    CRect rcTip;
    tip.GetWindowRect(&rcTip);
    const int S = 3;
    EXPECT_EQ(ScreenPixel(rcTip.right - S, rcTip.top + rcTip.Height() / 2), Darkened(kBack, 70));
    EXPECT_EQ(ScreenPixel(rcTip.left + rcTip.Width() / 2, rcTip.bottom - 1), Darkened(kBack, 86));
    tip.Hide();
    tip.DestroyWindow();
}
