// The shadow of a shown menu, read back from the screen over a known backdrop: its strips
// darken what lay there before the menu showed.
#include "tests/toolkit/menus/menu_test_kit.h"

using namespace menukit;
using testsupport::PumpUntil;

namespace {

const COLORREF kBack = RGB(200, 120, 40);

LRESULT CALLBACK BackdropProc(HWND hWnd, UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg != WM_ERASEBKGND)
        return ::DefWindowProcA(hWnd, msg, wp, lp);
    RECT rc;
    ::GetClientRect(hWnd, &rc);
    HBRUSH hBr = ::CreateSolidBrush(kBack);
    ::FillRect((HDC)wp, &rc, hBr);
    ::DeleteObject(hBr);
    return 1;
}

COLORREF Darkened(int nPercent)
{
    return RGB(GetRValue(kBack) * nPercent / 100, GetGValue(kBack) * nPercent / 100,
               GetBValue(kBack) * nPercent / 100);
}

class ShadowScreenTest : public ReceiverTest
{
protected:
    // The backdrop crosses the screen's left edge: such a window reads back painted.
    const char* ReceiverClass() override
    {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = BackdropProc;
        wc.lpszClassName = "ShadowScreenBackdrop";
        ::RegisterClassA(&wc);
        return wc.lpszClassName;
    }
    void SetUp() override
    {
        ReceiverTest::SetUp();
        ::SetWindowPos(m_hWndRecv, HWND_TOPMOST, -20, 100, 420, 300, SWP_SHOWWINDOW | SWP_NOACTIVATE);
        ::UpdateWindow(m_hWndRecv);
        PumpUntil([] { return ScreenPixel(200, 250) == kBack; });
        m_nSavedAnimation = CExtPopupBaseWnd::g_nDefaultAnimation;
        CExtPopupBaseWnd::g_nDefaultAnimation = 0;
    }
    void TearDown() override
    {
        ReceiverTest::TearDown();
        CExtPopupBaseWnd::g_nDefaultAnimation = m_nSavedAnimation;
    }
    int m_nSavedAnimation = 0;
};

}  // namespace

TEST_F(ShadowScreenTest, MenuShadowDarkensTheScreenUnderIt)
{
    ASSERT_EQ(ScreenPixel(200, 250), kBack) << "backdrop not on screen";
    CExtPopupMenuWnd* pMenu = NewMenu();
    pMenu->ItemInsertCommand(0x7A01, -1, "Shadowed item");
    pMenu->ItemInsertCommand(0x7A02, -1, "Second item");
    ASSERT_TRUE(pMenu->TrackPopupMenu(CExtPopupMenuWnd::TMF_NO_CMD_UI, 60, 130));
    ASSERT_TRUE(PumpUntil([&] { return pMenu->IsAnimationDone(); }, 2000));
    CRect rcWnd, rcP;
    pMenu->GetWindowRect(&rcWnd);
    pMenu->GetPaintRect(rcP);
    rcP.OffsetRect(rcWnd.TopLeft());
    ASSERT_EQ(pMenu->GetShadowSize(), 4);
    const struct
    {
        const char* sWhere;
        int x, y, nPercent;
    } cases[] = {
        {"right strip next to the body", rcP.right, rcP.CenterPoint().y, 75},
        {"right strip outer column", rcP.right + 3, rcP.CenterPoint().y, 93},
        {"bottom strip next to the body", rcP.CenterPoint().x, rcP.bottom, 75},
        {"bottom strip outer row", rcP.CenterPoint().x, rcP.bottom + 3, 93},
        {"outside the rounded corner", rcP.right + 3, rcP.bottom + 3, 100},
    };
    // The painted menu reaches the screen when the display takes its window's bits, which
    // no message tells: the wait is for the pixels themselves, each checked below.
    PumpUntil([&] {
        for (const auto& c : cases)
            if (ScreenPixel(c.x, c.y) != Darkened(c.nPercent))
                return false;
        return true;
    });
    for (const auto& c : cases)
        EXPECT_EQ(ScreenPixel(c.x, c.y), Darkened(c.nPercent)) << c.sWhere;
}
