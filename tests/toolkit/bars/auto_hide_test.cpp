// Auto-hide: pinning a bar into the area of its side and back with the caption's button,
// the bar sliding out when its tab is hovered and back in once the mouse has left, the
// slider's place on each side, and resizing the slider by its inner edge.
#include <gtest/gtest.h>

#include "framework/afxres.h"
#include "framework/framework.h"
#include "tests/support/message_pump.h"
#include "support/dib_canvas.h"
#include "toolkit/bars/auto_hide.h"

using testsupport::PumpPastTimer;
using testsupport::PumpPending;
using testsupport::PumpUntil;
using testsupport::PumpUntilDispatched;

namespace {

void SendMouse(CPoint p, DWORD dwFlags = 0)
{
    INPUT in = {};
    in.type = INPUT_MOUSE;
    in.mi.dx = p.x * 65535 / (::GetSystemMetrics(SM_CXSCREEN) - 1);
    in.mi.dy = p.y * 65535 / (::GetSystemMetrics(SM_CYSCREEN) - 1);
    in.mi.dwFlags = MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE | dwFlags;
    ::SendInput(1, &in, sizeof(in));
}

void Click(CPoint p)
{
    SendMouse(p);
    PumpPending();
    SendMouse(p, MOUSEEVENTF_LEFTDOWN);
    PumpPending();
    SendMouse(p, MOUSEEVENTF_LEFTUP);
    PumpPending();
}

CRect WndRect(HWND h)
{
    CRect rc;
    ::GetWindowRect(h, &rc);
    return rc;
}

// A frame with auto-hide areas and one resizable bar with a content window, docked at a side.
struct PinFrame
{
    CFrameWnd* pFrame = new CFrameWnd;
    CExtControlBar bar;
    HWND hWndContent = NULL;
    CExtDynAutoHideArea* arrAreas[4] = {};  // top, bottom, left, right
    CExtDynAutoHideSlider* pSlider = NULL;

    explicit PinFrame(UINT nSide = AFX_IDW_DOCKBAR_LEFT)
    {
        pFrame->Create(NULL, "Pins", WS_OVERLAPPEDWINDOW, CRect(40, 40, 640, 500));
        CExtControlBar::EnableFrameDocking(pFrame);
        CExtDynAutoHideArea::CreateFrameAreas(pFrame);
        CExtDynAutoHideArea::FindAreas(pFrame->m_hWnd, &arrAreas[0], &arrAreas[1], &arrAreas[2], &arrAreas[3]);
        pSlider = arrAreas[0] != NULL ? arrAreas[0]->GetSlider() : NULL;
        bar.Create("Pinned", pFrame, 52001, WS_CHILD | WS_VISIBLE | CBRS_LEFT | CBRS_GRIPPER);
        hWndContent = ::CreateWindowEx(0, "STATIC", "", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, bar.m_hWnd, NULL,
                                       AfxGetInstanceHandle(), NULL);
        bar.EnableDocking(CBRS_ALIGN_ANY);
        bar.m_sizeDockedV = CSize(150, 200);
        bar.m_sizeDockedH = CSize(200, 110);
        pFrame->ShowWindow(SW_SHOWNA);
        bar.DockAtFrameSide(nSide);
        pFrame->RecalcLayout(TRUE);
        pFrame->SetActiveWindow();
        pFrame->SetFocus();
        PumpPending();
    }
    ~PinFrame() { pFrame->DestroyWindow(); }
    CExtDynAutoHideArea* Area(UINT nSide) const
    {
        return arrAreas[nSide == AFX_IDW_DOCKBAR_TOP ? 0 : nSide == AFX_IDW_DOCKBAR_BOTTOM ? 1
                                                      : nSide == AFX_IDW_DOCKBAR_LEFT ? 2 : 3];
    }
    // The screen centre of a caption button, whose rectangle lies in pRefWnd's window.
    static CPoint ButtonCentre(CExtBarNcAreaButton* pBtn, HWND hWndRef)
    {
        const CRect rc(pBtn->m_rc);
        return WndRect(hWndRef).TopLeft() + rc.CenterPoint();
    }
};

}  // namespace

TEST(AutoHide, TheCaptionButtonPinsTheBarAwayAndTheSlidersButtonsBringItBackOrHideIt)
{
    struct
    {
        const char* sName;
        int nButton;  // in the slider's caption: 0 Close, 1 Auto Hide
        bool bShownAfter;
    } cases[] = {{"unpinned by Auto Hide", 1, true}, {"closed: slides in, then hides", 0, false}};
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.sName);
        PinFrame f;
        ASSERT_NE(nullptr, f.pSlider);
        CExtDynAutoHideArea* pArea = f.Area(AFX_IDW_DOCKBAR_LEFT);
        ASSERT_NE(nullptr, pArea);
        EXPECT_FALSE(pArea->IsWindowVisible());
        f.bar.LayoutNcAreaButtons();
        CExtBarNcAreaButton* pPin = f.bar.m_vNcAreaButtons[1];
        ASSERT_TRUE(pPin->OnQueryVisibility());

        // Pinned: the bar leaves its row, its tab shows, and it slides out at once.
        Click(PinFrame::ButtonCentre(pPin, f.bar.m_hWnd));
        ASSERT_TRUE(PumpUntil([&] { return f.bar.AutoHideModeGet(); }, 2000));
        PumpPending();
        EXPECT_FALSE(f.bar.IsWindowVisible());
        EXPECT_TRUE(pArea->IsWindowVisible());
        ASSERT_EQ(1, pArea->ItemGetCount());
        EXPECT_EQ(LPARAM(&f.bar), pArea->ItemGet(0)->LParamGet());
        EXPECT_TRUE(f.pSlider->IsOut());
        EXPECT_EQ(&f.bar, f.pSlider->GetShownBar());
        EXPECT_EQ(f.pSlider->m_hWnd, ::GetParent(f.hWndContent));

        // The buttons now sit in the slider's caption.
        CExtBarNcAreaButton* pBtn = f.bar.m_vNcAreaButtons[c.nButton];
        ASSERT_TRUE(pBtn->OnQueryVisibility());
        Click(PinFrame::ButtonCentre(pBtn, f.pSlider->m_hWnd));
        ASSERT_TRUE(PumpUntil([&] { return !f.bar.AutoHideModeGet(); }, 2000));
        PumpPending();
        EXPECT_FALSE(f.pSlider->IsOut());
        EXPECT_FALSE(f.pSlider->IsWindowVisible());
        EXPECT_EQ(c.bShownAfter, f.bar.IsWindowVisible() != FALSE);
        EXPECT_EQ(f.bar.m_hWnd, ::GetParent(f.hWndContent));
        EXPECT_EQ(0, pArea->ItemGetCount());
        EXPECT_FALSE(pArea->IsWindowVisible());
        EXPECT_EQ(nullptr, CExtDynAutoHideSlider::g_pHookingSlider);
    }
}

// The slider's caption buttons are judged where the hand pressed and released them,
// whatever the pointer does before the frame's thread takes the clicks (the thread is
// held: it takes nothing until the hand is done).
TEST(AutoHide, TheSlidersButtonsAreJudgedWhereTheHandMadeTheClick)
{
    struct
    {
        const char* sName;
        bool bReleasedOnButton;  // else beside it, on the caption
        bool bUnpinned;
    } cases[] = {{"released on Auto Hide, the pointer moved off the slider", true, true},
                 {"released beside Auto Hide, the pointer moved back onto it", false, false}};
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.sName);
        PinFrame f;
        f.bar.LayoutNcAreaButtons();
        Click(PinFrame::ButtonCentre(f.bar.m_vNcAreaButtons[1], f.bar.m_hWnd));
        ASSERT_TRUE(PumpUntil([&] { return f.bar.AutoHideModeGet() && f.pSlider->IsOut(); }, 2000));
        PumpPending();
        const CPoint ptButton = PinFrame::ButtonCentre(f.bar.m_vNcAreaButtons[1], f.pSlider->m_hWnd);
        CRect rcCaption;
        ASSERT_TRUE(f.pSlider->GetCaptionRect(rcCaption));
        const CPoint ptBeside(WndRect(f.pSlider->m_hWnd).left + rcCaption.left + 4, ptButton.y);
        const CRect rcSlider = WndRect(f.pSlider->m_hWnd);
        const CPoint ptOff(rcSlider.right + 60, rcSlider.CenterPoint().y);
        const CPoint ptRelease = c.bReleasedOnButton ? ptButton : ptBeside;
        SendMouse(ptButton);
        SendMouse(ptButton, MOUSEEVENTF_LEFTDOWN);
        SendMouse(ptRelease);
        SendMouse(ptRelease, MOUSEEVENTF_LEFTUP);
        SendMouse(c.bReleasedOnButton ? ptOff : ptButton);
        if (c.bUnpinned)
            PumpUntil([&] { return !f.bar.AutoHideModeGet(); }, 2000);
        else
            EXPECT_TRUE(testsupport::PumpUntilIdle());
        EXPECT_EQ(c.bUnpinned, !f.bar.AutoHideModeGet());
        EXPECT_EQ(c.bUnpinned ? f.bar.m_hWnd : f.pSlider->m_hWnd, ::GetParent(f.hWndContent));
    }
}

TEST(AutoHide, CtrlPageDownWalksToTheNextPinnedBarWithWrapAround)
{
    PinFrame f;
    CExtControlBar second;
    ASSERT_TRUE(second.Create("Second", f.pFrame, 52002, WS_CHILD | WS_VISIBLE | CBRS_LEFT | CBRS_GRIPPER));
    second.EnableDocking(CBRS_ALIGN_ANY);
    second.DockAtFrameSide(AFX_IDW_DOCKBAR_LEFT);
    f.pFrame->RecalcLayout(TRUE);
    ASSERT_TRUE(f.bar.AutoHideModeSet(true, false, true, true));
    ASSERT_TRUE(second.AutoHideModeSet(true, false, true, true));
    PumpPending();
    CExtDynAutoHideArea* pArea = f.Area(AFX_IDW_DOCKBAR_LEFT);
    ASSERT_EQ(2, pArea->ItemGetCount());
    f.pFrame->SetFocus();
    pArea->SelectionSet(0, false, true);
    ASSERT_EQ(&f.bar, f.pSlider->GetShownBar());

    BYTE keys[256];
    ::GetKeyboardState(keys);
    keys[VK_CONTROL] = 0x80;
    ::SetKeyboardState(keys);
    MSG msg = {pArea->m_hWnd, WM_KEYDOWN, VK_NEXT, 0, 0, {0, 0}};
    struct
    {
        const char* sName;
        CExtControlBar* pExpected;
    } steps[] = {{"to the second tab", &second}, {"past the last, back to the first", &f.bar}};
    for (const auto& s : steps)
    {
        SCOPED_TRACE(s.sName);
        EXPECT_TRUE(pArea->PreTranslateMessage(&msg) != FALSE);
        EXPECT_EQ(s.pExpected, f.pSlider->GetShownBar());
        EXPECT_TRUE(f.pSlider->IsOut());
    }
    keys[VK_CONTROL] = 0;
    ::SetKeyboardState(keys);
    // Without Ctrl the key is not the area's.
    EXPECT_FALSE(pArea->HandleKeyboardSwitch(&msg));
    f.pSlider->SendMessage(WM_CANCELMODE);
}

TEST(AutoHide, HoveringTheTabSlidesTheBarOutAndLeavingBothForHalfASecondSlidesItIn)
{
    struct
    {
        const char* sName;
        bool bIntoAreaMargin;  // the cursor ends 1 pixel beside the area, else far away
        bool bStaysOut;
    } cases[] = {{"cursor leaves for the frame's middle", false, false},
                 {"cursor rests in the area's margin", true, true}};
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.sName);
        PinFrame f;
        ASSERT_TRUE(f.bar.AutoHideModeSet(true, false, true, true));
        PumpPending();
        CExtDynAutoHideArea* pArea = f.Area(AFX_IDW_DOCKBAR_LEFT);
        ASSERT_TRUE(pArea->IsWindowVisible());
        EXPECT_FALSE(f.pSlider->IsOut());  // forced: pinned without sliding out
        CRect rcArea = WndRect(pArea->m_hWnd);
        CPoint ptTab(-1, -1);
        for (int y = 0; y < rcArea.Height() && ptTab.y < 0; y++)
            if (pArea->ItemHitTest(CPoint(rcArea.Width() / 2, y)) == 0)
                ptTab = CPoint(rcArea.left + rcArea.Width() / 2, rcArea.top + y + 4);
        ASSERT_GE(ptTab.y, 0);
        SendMouse(ptTab);
        ASSERT_TRUE(PumpUntil([&] { return f.pSlider->IsOut(); }, 2000));
        EXPECT_EQ(f.pSlider->m_hWnd, ::GetParent(f.hWndContent));
        const CRect rcSlider = WndRect(f.pSlider->m_hWnd);
        EXPECT_EQ(rcArea.right, rcSlider.left);

        SendMouse(c.bIntoAreaMargin ? CPoint(rcArea.left + 2, rcArea.top - 1)
                                    : CPoint(rcSlider.right + 60, rcSlider.CenterPoint().y));
        // Sliding back in is waited for. Staying out: the slider's watch timer looks at the
        // cursor and, once it is away, starts the half-second leave timer; two of its ticks
        // (the first may only see a focus change) and then a timer falling due after that
        // leave timer would have.
        if (c.bStaysOut)
        {
            const HWND hWndSlider = f.pSlider->m_hWnd;
            for (int nTick = 0; nTick < 2; nTick++)
                ASSERT_TRUE(PumpUntilDispatched([&](const MSG& m) {
                    return m.hwnd == hWndSlider && m.message == WM_TIMER &&
                           m.wParam == CExtDynAutoHideSlider::__EAHS_TIMER_TRACK;
                }));
            ASSERT_TRUE(PumpPastTimer(500 + 50));
        }
        else
            PumpUntil([&] {
                return !f.pSlider->IsOut() && !f.pSlider->IsWindowVisible() &&
                       ::GetParent(f.hWndContent) == f.bar.m_hWnd;
            }, 4000);
        EXPECT_EQ(c.bStaysOut, f.pSlider->IsOut());
        EXPECT_EQ(c.bStaysOut ? f.pSlider->m_hWnd : f.bar.m_hWnd, ::GetParent(f.hWndContent));
        EXPECT_EQ(c.bStaysOut, f.pSlider->IsWindowVisible() != FALSE);
    }
}

TEST(AutoHide, TheSliderLiesAlongItsAreaWithTheBarsDockedExtentAsContent)
{
    struct
    {
        const char* sName;
        UINT nSide;
        bool bAnimated;  // the animation switches on: the slide ends in the same place
    } cases[] = {{"top", AFX_IDW_DOCKBAR_TOP, false},
                 {"bottom", AFX_IDW_DOCKBAR_BOTTOM, false},
                 {"left", AFX_IDW_DOCKBAR_LEFT, false},
                 {"right", AFX_IDW_DOCKBAR_RIGHT, false},
                 {"right, animated", AFX_IDW_DOCKBAR_RIGHT, true},
                 {"top, animated", AFX_IDW_DOCKBAR_TOP, true}};
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.sName);
        PinFrame f(c.nSide);
        const int nCaption = f.bar.GetGripperHeightAtTop() + 1;
        ASSERT_TRUE(f.bar.AutoHideModeSet(true, false, true, true));
        PumpPending();
        CExtControlBar::g_bAutoHideAnimateShow = CExtControlBar::g_bAutoHideAnimateHide = c.bAnimated;
        f.pSlider->SlideBar(&f.bar, true, true, true);
        ASSERT_TRUE(f.pSlider->IsOut());
        EXPECT_FALSE(f.pSlider->IsBusy());
        const CRect rcArea = WndRect(f.Area(c.nSide)->m_hWnd);
        const CRect rcSlider = WndRect(f.pSlider->m_hWnd);
        CRect rcClient;
        f.pSlider->GetClientRect(&rcClient);
        const CRect rcContent = WndRect(f.hWndContent);
        // Content: the docked extent across the side (150 wide vertically, 110 high
        // horizontally); the frame: 2 pixels, 3 more inside, and the caption on top.
        const bool bHorz = c.nSide == AFX_IDW_DOCKBAR_TOP || c.nSide == AFX_IDW_DOCKBAR_BOTTOM;
        EXPECT_EQ(bHorz ? 110 : 150, bHorz ? rcClient.Height() : rcClient.Width());
        EXPECT_EQ(bHorz ? rcSlider.Width() - 4 : rcSlider.Height() - 4 - nCaption,
                  bHorz ? rcClient.Width() : rcClient.Height());
        EXPECT_EQ(bHorz ? 110 + 7 + nCaption : 150 + 7, bHorz ? rcSlider.Height() : rcSlider.Width());
        EXPECT_EQ(rcClient.Size(), rcContent.Size());
        switch (c.nSide)
        {
        case AFX_IDW_DOCKBAR_TOP: EXPECT_EQ(rcArea.bottom, rcSlider.top); break;
        case AFX_IDW_DOCKBAR_BOTTOM: EXPECT_EQ(rcArea.top, rcSlider.bottom); break;
        case AFX_IDW_DOCKBAR_LEFT: EXPECT_EQ(rcArea.right, rcSlider.left); break;
        default: EXPECT_EQ(rcArea.left, rcSlider.right); break;
        }
        f.pSlider->SlideBar(&f.bar, false, true, true);
        CExtControlBar::g_bAutoHideAnimateShow = CExtControlBar::g_bAutoHideAnimateHide = false;
        EXPECT_FALSE(f.pSlider->IsOut());
        EXPECT_FALSE(f.pSlider->IsWindowVisible());
        EXPECT_EQ(f.bar.m_hWnd, ::GetParent(f.hWndContent));
    }
}

TEST(AutoHide, DraggingTheSlidersInnerEdgeResizesItAndTheBarKeepsTheWidth)
{
    PinFrame f;
    ASSERT_TRUE(f.bar.AutoHideModeSet(true, false, true, true));
    PumpPending();
    f.pSlider->SlideBar(&f.bar, true, false, true);
    ASSERT_TRUE(f.pSlider->IsOut());
    EXPECT_EQ(-1, f.bar.AutoHideWidthGet());
    const CRect rc0 = WndRect(f.pSlider->m_hWnd);
    const CPoint pt(rc0.right - 2, rc0.CenterPoint().y);
    EXPECT_EQ(HTRIGHT, f.pSlider->SendMessage(WM_NCHITTEST, 0, MAKELPARAM(pt.x, pt.y)));
    SendMouse(pt);
    PumpPending();
    SendMouse(pt, MOUSEEVENTF_LEFTDOWN);
    PumpPending();
    SendMouse(pt + CPoint(20, 0));
    PumpPending();
    SendMouse(pt + CPoint(40, 0));
    PumpPending();
    SendMouse(pt + CPoint(40, 0), MOUSEEVENTF_LEFTUP);
    PumpPending();
    const CRect rc1 = WndRect(f.pSlider->m_hWnd);
    EXPECT_EQ(rc0.left, rc1.left);
    EXPECT_EQ(pt.x + 40, rc1.right);  // the edge follows the cursor
    EXPECT_EQ(rc1.Width() - 7, f.bar.AutoHideWidthGet());
    EXPECT_EQ(UINT(CExtDynAutoHideSlider::__EAHS_RESIZE_NONE), f.pSlider->m_nResizingMode);

    // Out again later, the slider keeps the width the user gave it.
    f.pSlider->SendMessage(WM_CANCELMODE);
    f.pSlider->SlideBar(&f.bar, true, false, true);
    EXPECT_EQ(rc1.Width(), WndRect(f.pSlider->m_hWnd).Width());
    f.pSlider->SendMessage(WM_CANCELMODE);
}

TEST(AutoHide, TheSlidersDoubleFrameTakesEachThemesColours)
{
    struct
    {
        const char* sName;
        CExtPaintManager* (*pfnMake)();
    } themes[] = {
        {"XP", [] { return static_cast<CExtPaintManager*>(new CExtPaintManagerXP); }},
        {"Office 2003", [] { return static_cast<CExtPaintManager*>(new CExtPaintManagerOffice2003); }},
        {"Studio 2005", [] { return static_cast<CExtPaintManager*>(new CExtPaintManagerStudio2005); }},
    };
    PinFrame f;
    ASSERT_TRUE(f.bar.AutoHideModeSet(true, false, true, true));
    f.pSlider->SlideBar(&f.bar, true, false, true);
    ASSERT_TRUE(f.pSlider->IsOut());
    const CRect rc = WndRect(f.pSlider->m_hWnd);
    const int w = rc.Width(), h = rc.Height();
    for (const auto& t : themes)
    {
        SCOPED_TRACE(t.sName);
        ASSERT_TRUE(g_CurrentPaintManager.InstallPaintManager(t.pfnMake()));
        CExtPaintManager* pPM = g_CurrentPaintManager.GetPM();
        testsupport::DibCanvas canvas(w, h, RGB(1, 2, 3));
        f.pSlider->DrawSliderNcArea(*CDC::FromHandle(canvas.Dc()));
        // Outer frame: dark shadow above and left, face below and right; the inner
        // frame one pixel in: shadow, then highlight.
        EXPECT_EQ(pPM->LookupColor(COLOR_3DDKSHADOW, f.pSlider), canvas.Pixel(0, h / 2));
        EXPECT_EQ(pPM->LookupColor(COLOR_3DDKSHADOW, f.pSlider), canvas.Pixel(w / 2, 0));
        EXPECT_EQ(pPM->LookupColor(COLOR_BTNFACE, f.pSlider), canvas.Pixel(w - 1, h / 2));
        EXPECT_EQ(pPM->LookupColor(COLOR_BTNFACE, f.pSlider), canvas.Pixel(w / 2, h - 1));
        EXPECT_EQ(pPM->LookupColor(COLOR_BTNSHADOW, f.pSlider), canvas.Pixel(1, h / 2));
        EXPECT_EQ(pPM->LookupColor(COLOR_BTNHIGHLIGHT, f.pSlider), canvas.Pixel(w - 2, h / 2));
    }
    ASSERT_TRUE(g_CurrentPaintManager.InstallPaintManager(new CExtPaintManagerXP));
    f.pSlider->SendMessage(WM_CANCELMODE);
}

TEST(AutoHide, ABarThatGoesWhileOutTakesItsContentAndItsTabAlong)
{
    PinFrame f;
    ASSERT_TRUE(f.bar.AutoHideModeSet(true, false, true, true));
    f.pSlider->SlideBar(&f.bar, true, false, true);
    ASSERT_EQ(f.pSlider->m_hWnd, ::GetParent(f.hWndContent));
    CExtDynAutoHideArea* pArea = f.Area(AFX_IDW_DOCKBAR_LEFT);
    ASSERT_EQ(1, pArea->ItemGetCount());
    f.bar.DestroyWindow();
    EXPECT_FALSE(::IsWindow(f.hWndContent));
    EXPECT_FALSE(f.pSlider->IsOut());
    EXPECT_FALSE(f.pSlider->IsWindowVisible());
    EXPECT_EQ(0, pArea->ItemGetCount());
    f.pFrame->RecalcLayout(TRUE);
    PumpPending();
    EXPECT_FALSE(pArea->IsWindowVisible());
}
