// The toolkit's floating frame: its own frame and caption, its hit test, sizing from a
// border, closing, and the tips it takes over from its bar.
#include <gtest/gtest.h>
#include <cstring>

#include "framework/afxres.h"
#include "framework/framework.h"
#include "tests/support/message_pump.h"
#include "toolkit/bars/control_bar.h"

using testsupport::PumpPending;
using testsupport::PumpUntil;

namespace {

// A bar whose whole client area is one tool with a text of the test's choosing.
class TipBar : public CExtControlBar
{
public:
    const char* m_sTip = "First";
    INT_PTR OnToolHitTest(CPoint, TOOLINFO* pTI) const override
    {
        pTI->hwnd = m_hWnd;
        GetClientRect(&pTI->rect);
        pTI->uId = 7;
        pTI->lpszText = _strdup(m_sTip);
        return 7;
    }
};

struct Floating
{
    CFrameWnd* pFrame = new CFrameWnd;
    TipBar bar;
    CExtMiniDockFrameWnd* pMini = NULL;
    Floating()
    {
        pFrame->Create(NULL, "Main", WS_OVERLAPPEDWINDOW, CRect(20, 20, 620, 520));
        bar.Create("Floater", pFrame, 64021, WS_CHILD | WS_VISIBLE | CBRS_TOP | CBRS_GRIPPER | CBRS_TOOLTIPS);
        bar.EnableDocking(CBRS_ALIGN_ANY);
        pFrame->ShowWindow(SW_SHOWNA);
        bar.m_sizeFloated = CSize(220, 160);
        pFrame->FloatControlBar(&bar, CPoint(200, 200), CBRS_ALIGN_TOP);
        pMini = DYNAMIC_DOWNCAST(CExtMiniDockFrameWnd, bar.GetParentFrame());
        PumpPending();
    }
    ~Floating() { pFrame->DestroyWindow(); }
    CRect Window() const
    {
        CRect rc;
        pMini->GetWindowRect(&rc);
        return rc;
    }
};

HWND g_hWndTipFound = NULL;

BOOL CALLBACK FindOwnedTip(HWND hWnd, LPARAM lParam)
{
    char sClass[64] = "";
    ::GetClassNameA(hWnd, sClass, sizeof(sClass));
    if (::GetWindow(hWnd, GW_OWNER) == HWND(lParam) && std::strcmp(sClass, TOOLTIPS_CLASSA) == 0)
        g_hWndTipFound = hWnd;
    return TRUE;
}

}  // namespace

TEST(MiniFrame, OwnFrameAndCaptionAroundTheFloatingBar)
{
    Floating f;
    ASSERT_TRUE(f.pMini != NULL);
    EXPECT_EQ(&f.bar, f.pMini->GetControlBar());
    EXPECT_EQ(0u, f.pMini->GetStyle() & (WS_CAPTION | WS_THICKFRAME));
    EXPECT_EQ(0u, f.pMini->GetExStyle() & (WS_EX_TOOLWINDOW | WS_EX_WINDOWEDGE));
    const int F = ::GetSystemMetrics(SM_CXFRAME), G = ::GetSystemMetrics(SM_CYFRAME),
              C = ::GetSystemMetrics(SM_CYSMCAPTION);
    const CRect rcWnd = f.Window();
    CRect rcClient;
    f.pMini->GetClientRect(&rcClient);
    f.pMini->ClientToScreen(&rcClient);
    EXPECT_EQ(CRect(rcWnd.left + F, rcWnd.top + G + C, rcWnd.right - F, rcWnd.bottom - G), rcClient);
    // The caption runs below the top border; the bar's close button sits at its right.
    const RECT& rcCaption = f.pMini->GetCaptionRect();
    EXPECT_EQ(CRect(F, G, rcWnd.Width() - F, G + ::GetSystemMetrics(SM_CYSMSIZE)), CRect(rcCaption));
    CString sCaption;
    f.bar.OnGetBarCaptionText(1, sCaption);
    EXPECT_STREQ("Floater", sCaption);
}

TEST(MiniFrame, HitTestOfBordersCornersAndCaption)
{
    Floating f;
    ASSERT_TRUE(f.pMini != NULL);
    const CRect rc = f.Window();
    const int G = ::GetSystemMetrics(SM_CYFRAME), C = ::GetSystemMetrics(SM_CYSMCAPTION);
    const struct
    {
        const char* sName;
        CPoint pt;
        LRESULT nHit;
    } cases[] = {
        {"top edge, middle", CPoint(rc.CenterPoint().x, rc.top + 1), HTTOP},
        {"top edge, C from the left", CPoint(rc.left + C - 1, rc.top + 1), HTTOPLEFT},
        {"top edge, beyond G from the right", CPoint(rc.right - G - 1, rc.top + 1), HTTOP},
        {"top edge, within G of the right", CPoint(rc.right - G, rc.top + 1), HTTOPRIGHT},
        {"left edge, middle", CPoint(rc.left + 1, rc.CenterPoint().y), HTLEFT},
        {"right edge, near the bottom", CPoint(rc.right - 1, rc.bottom - C + 1), HTBOTTOMRIGHT},
        {"bottom edge, middle", CPoint(rc.CenterPoint().x, rc.bottom - 1), HTBOTTOM},
        {"caption, left part", CPoint(rc.left + 30, rc.top + G + C / 2), HTCAPTION},
        {"inside", rc.CenterPoint(), HTCLIENT},
        {"outside", CPoint(rc.right + 5, rc.top), HTNOWHERE},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.nHit, f.pMini->SendMessage(WM_NCHITTEST, 0, MAKELPARAM(c.pt.x, c.pt.y))) << c.sName;
}

TEST(MiniFrame, ToolbarThatKeepsItsSizeIsMovedByEveryBorder)
{
    CFrameWnd* pFrame = new CFrameWnd;
    ASSERT_TRUE(pFrame->Create(NULL, "Main", WS_OVERLAPPEDWINDOW, CRect(20, 20, 620, 520)));
    pFrame->EnableDocking(CBRS_ALIGN_ANY);
    CExtControlBar::SetFrameFloatingClass(pFrame);
    CExtToolControlBar tool;
    ASSERT_TRUE(tool.Create("Tool", pFrame, 0xE981, WS_CHILD | WS_VISIBLE | CBRS_TOP));
    const UINT ids[] = {0xE100, 0xE101, 0xE102};
    ASSERT_TRUE(tool.SetButtons(ids, 3));
    tool.EnableDocking(CBRS_ALIGN_ANY);
    pFrame->ShowWindow(SW_SHOWNA);
    pFrame->FloatControlBar(&tool, CPoint(200, 200), CBRS_ALIGN_TOP);
    CExtMiniDockFrameWnd* pMini = DYNAMIC_DOWNCAST(CExtMiniDockFrameWnd, tool.GetParentFrame());
    ASSERT_TRUE(pMini != NULL);
    PumpPending();
    CRect rc;
    pMini->GetWindowRect(&rc);
    const struct
    {
        const char* sName;
        CPoint pt;
        LRESULT nResizable, nNoResize;
    } cases[] = {
        {"top edge", CPoint(rc.CenterPoint().x, rc.top + 1), HTTOP, HTCAPTION},
        {"top-left corner", CPoint(rc.left + 1, rc.top + 1), HTTOP, HTCAPTION},
        {"left edge", CPoint(rc.left + 1, rc.CenterPoint().y), HTLEFT, HTCAPTION},
        {"right edge", CPoint(rc.right - 1, rc.CenterPoint().y), HTRIGHT, HTCAPTION},
        {"bottom-right corner", CPoint(rc.right - 1, rc.bottom - 1), HTBOTTOM, HTCAPTION},
        {"bottom edge", CPoint(rc.CenterPoint().x, rc.bottom - 1), HTBOTTOM, HTCAPTION},
        {"inside", rc.CenterPoint(), HTCLIENT, HTCLIENT},
    };
    for (bool bNoResize : {false, true})
    {
        tool.SetNoResize(bNoResize);
        for (const auto& c : cases)
            EXPECT_EQ(bNoResize ? c.nNoResize : c.nResizable,
                      pMini->SendMessage(WM_NCHITTEST, 0, MAKELPARAM(c.pt.x, c.pt.y)))
                << c.sName << (bNoResize ? ", no resize" : "");
    }
    pFrame->DestroyWindow();
}

TEST(MiniFrame, SizingFromTheRightBorderResizesTheFrameAndTheBar)
{
    Floating f;
    ASSERT_TRUE(f.pMini != NULL);
    f.pMini->SetActiveWindow();
    const CRect rc0 = f.Window();
    CRect rcClient0;
    f.pMini->GetClientRect(&rcClient0);
    const CPoint pt(rc0.right - 1, rc0.CenterPoint().y);
    ASSERT_EQ(HTRIGHT, f.pMini->SendMessage(WM_NCHITTEST, 0, MAKELPARAM(pt.x, pt.y)));
    // The pointer is already 30 pixels further when the press arrives; the move and the
    // release wait in the queue for the frame's sizing loop.
    ::SetCursorPos(pt.x + 30, pt.y);
    f.pMini->PostMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(rcClient0.right + 30, 10));
    f.pMini->PostMessage(WM_LBUTTONUP, 0, MAKELPARAM(rcClient0.right + 30, 10));
    f.pMini->SendMessage(WM_NCLBUTTONDOWN, HTRIGHT, MAKELPARAM(pt.x, pt.y));
    PumpPending();
    // The right edge lands on the pointer.
    EXPECT_EQ(pt.x + 30, f.Window().right);
    EXPECT_FALSE(f.pMini->IsResizing());
    EXPECT_EQ(rc0.left, f.Window().left);
    EXPECT_EQ(rc0.Height(), f.Window().Height());
    EXPECT_EQ(CSize(rcClient0.Width() + 29, rcClient0.Height()), f.bar.m_sizeFloated);
}

TEST(MiniFrame, ClosingHidesTheBarAndKeepsIt)
{
    Floating f;
    ASSERT_TRUE(f.pMini != NULL);
    const HWND hWndMini = f.pMini->m_hWnd;
    f.pMini->SendMessage(WM_CLOSE);
    // The bar hides at the floating frame's next layout.
    f.pMini->RecalcLayout();
    PumpPending();
    EXPECT_TRUE(::IsWindow(f.bar.m_hWnd));
    EXPECT_FALSE(f.bar.IsWindowVisible());
    EXPECT_TRUE(::IsWindow(hWndMini));
}

TEST(MiniFrame, TipsOfTheBarAreAddedOnceAndUpdated)
{
    Floating f;
    ASSERT_TRUE(f.pMini != NULL);
    CRect rcBar;
    f.bar.GetClientRect(&rcBar);
    f.bar.ClientToScreen(&rcBar);
    CPoint pt = rcBar.CenterPoint();
    f.pMini->ScreenToClient(&pt);
    EXPECT_EQ(-1, f.pMini->OnToolHitTest(pt, NULL));
    f.bar.m_sTip = "Second";
    EXPECT_EQ(-1, f.pMini->OnToolHitTest(pt, NULL));
    // The frame's own tip window: a popup owned by it.
    g_hWndTipFound = NULL;
    ::EnumThreadWindows(::GetCurrentThreadId(), FindOwnedTip, LPARAM(f.pMini->m_hWnd));
    ASSERT_TRUE(g_hWndTipFound != NULL);
    EXPECT_EQ(1, ::SendMessage(g_hWndTipFound, TTM_GETTOOLCOUNT, 0, 0));
    char sText[64] = "";
    TOOLINFOA ti = {};
    ti.cbSize = sizeof(ti);
    ti.hwnd = f.pMini->m_hWnd;
    ti.uId = 7;
    ti.lpszText = sText;
    ::SendMessage(g_hWndTipFound, TTM_GETTEXTA, 0, LPARAM(&ti));
    EXPECT_STREQ("Second", sText);
}
