// The bar's non-client frame and caption buttons: where the caption, the client area and
// the Close button lie, hit tests, hover and press, the click that hides the bar, the
// button's tip, the caption's colours per theme and the inverted tracking areas.
#include <gtest/gtest.h>

#include <cstdlib>

#include "framework/framework.h"
#include "framework/afxres.h"
#include "support/dib_canvas.h"
#include "support/message_pump.h"
#include "support/msg_recorder.h"
#include "toolkit/bars/control_bar.h"
#include "toolkit/core/resource_manager.h"
#include "toolkit/menus/popup_menu_tip_wnd.h"
#include "toolkit/theme/paint_manager.h"

namespace {

const int kCaption = ::GetSystemMetrics(SM_CYSMCAPTION) + 1;

struct DockedPanel
{
    CFrameWnd* pFrame = new CFrameWnd;
    CExtControlBar bar;
    DockedPanel()
    {
        pFrame->Create(NULL, "Frame", WS_OVERLAPPEDWINDOW, CRect(0, 0, 400, 300));
        pFrame->EnableDocking(CBRS_ALIGN_ANY);
        bar.Create("Panel", pFrame, 0xE940, WS_CHILD | WS_VISIBLE | CBRS_TOP | CBRS_GRIPPER);
        bar.EnableDocking(CBRS_ALIGN_ANY);
        bar.DockAtFrameSide(AFX_IDW_DOCKBAR_TOP);
        pFrame->ShowWindow(SW_SHOWNA);
        pFrame->RecalcLayout();
    }
    ~DockedPanel() { pFrame->DestroyWindow(); }
    CExtBarNcAreaButton* Button(int i) { return bar.m_vNcAreaButtons[i]; }
    CRect WindowRect()
    {
        CRect rc;
        bar.GetWindowRect(&rc);
        return rc;
    }
    // A point of the bar's window (window coordinates) on the screen.
    CPoint Screen(int x, int y) { return WindowRect().TopLeft() + CPoint(x, y); }
    LRESULT HitTest(CPoint ptScreen) { return bar.SendMessage(WM_NCHITTEST, 0, MAKELPARAM(ptScreen.x, ptScreen.y)); }
};

void SetMouseButtons(bool bLeft, bool bRight)
{
    BYTE keys[256];
    ::GetKeyboardState(keys);
    keys[VK_LBUTTON] = bLeft ? 0x80 : 0;
    keys[VK_RBUTTON] = bRight ? 0x80 : 0;
    ::SetKeyboardState(keys);
}

}  // namespace

TEST(ControlBarCaption, DockedPanelHasATopCaptionWithTheCloseButtonAtItsRightEnd)
{
    DockedPanel d;
    // The only bar of its dock bar keeps its trailing splitter and its row splitter;
    // the caption runs up to the trailing one.
    const int WW = d.WindowRect().Width(), H = d.WindowRect().Height();
    const int nSepX = d.bar.GetSeparatorWidth(), nSepY = d.bar.GetSeparatorHeight();
    EXPECT_EQ(CRect(WW - nSepX, 0, WW, H - nSepY), CRect(*d.bar.GetTrailingSplitterRect()));
    EXPECT_EQ(CRect(0, H - nSepY, WW, H), CRect(*d.bar.GetRowSplitterRect()));
    const int W = WW - nSepX;
    EXPECT_EQ(CRect(0, 0, W, kCaption), CRect(*d.bar.GetCaptionRect()));
    CRect rcClient;
    d.bar.GetClientRect(&rcClient);
    d.bar.ClientToScreen(&rcClient);
    EXPECT_EQ(kCaption + 1, rcClient.top - d.WindowRect().top);
    EXPECT_EQ(d.WindowRect().left, rcClient.left);

    ASSERT_EQ(3, d.bar.m_vNcAreaButtons.GetSize());
    EXPECT_TRUE(d.Button(0)->IsKindOf(RUNTIME_CLASS(CExtBarNcAreaButtonClose)));
    EXPECT_TRUE(d.Button(0)->OnQueryVisibility());
    EXPECT_FALSE(d.Button(1)->OnQueryVisibility());  // no auto-hide area on this side
    EXPECT_FALSE(d.Button(2)->OnQueryVisibility());  // Options belong to floating fixed bars
    const int nSide = kCaption - 7;
    EXPECT_EQ(CRect(W - 3 - nSide, 4, W - 3, kCaption - 3), CRect(d.Button(0)->GetRect()));

    // The caption text ends one pixel before the innermost button.
    RECT rcText = {2, 0, W - 2, kCaption};
    d.bar.CalcCaptionTextRect(rcText);
    EXPECT_EQ(d.Button(0)->GetRect().left - 1, rcText.right);

    // A second visible button lines up 3 pixels left of the previous one.
    CExtBarNcAreaButtonClose second(&d.bar);
    second.OnNcAreaReposition(d.Button(0));
    EXPECT_EQ(d.Button(0)->GetRect().left - 3, second.GetRect().right);
    EXPECT_EQ(nSide, second.GetRect().right - second.GetRect().left);
}

TEST(ControlBarCaption, FixedBarKeepsAGripperAtItsLeft)
{
    CFrameWnd* pFrame = new CFrameWnd;
    ASSERT_TRUE(pFrame->Create(NULL, "Frame", WS_OVERLAPPEDWINDOW, CRect(0, 0, 400, 300)));
    g_CurrentPaintManager.InstallPaintManagerByClass(RUNTIME_CLASS(CExtPaintManagerXP));
    pFrame->EnableDocking(CBRS_ALIGN_ANY);
    CExtControlBar bar;
    bar.m_nOptionFlags = BYTE((bar.m_nOptionFlags | CExtControlBar::__ESF_FIXED_MODE) &
                              ~CExtControlBar::__ESF_CAPTION_AT_TOP);
    ASSERT_TRUE(bar.Create("Fixed", pFrame, 0xE941, WS_CHILD | WS_VISIBLE | CBRS_TOP | CBRS_GRIPPER));
    bar.EnableDocking(CBRS_ALIGN_ANY);
    pFrame->DockControlBar(&bar, AFX_IDW_DOCKBAR_TOP);
    pFrame->RecalcLayout();
    CRect rcWnd, rcClient;
    bar.GetWindowRect(&rcWnd);
    bar.GetClientRect(&rcClient);
    bar.ClientToScreen(&rcClient);
    const int H = rcWnd.Height();
    // The XP theme takes one pixel round a fixed bar; the gripper is shortened at both
    // ends and once more on the frame-edge side (the top).
    EXPECT_EQ(CRect(1, 3, 1 + kCaption, H - 2), CRect(*bar.GetCaptionRect()));
    EXPECT_EQ(1 + kCaption + 1, rcClient.left - rcWnd.left);
    EXPECT_EQ(1, rcClient.top - rcWnd.top);
    // No caption button of a docked fixed bar shows.
    for (INT_PTR i = 0; i < bar.m_vNcAreaButtons.GetSize(); i++)
        EXPECT_FALSE(bar.m_vNcAreaButtons[i]->OnQueryVisibility()) << "button " << i;
    // Buttons of a left caption stand square from its top down, 3 pixels apart.
    CExtBarNcAreaButtonClose first(&bar), second(&bar);
    first.OnNcAreaReposition(NULL);
    second.OnNcAreaReposition(&first);
    const int nSide = kCaption - 6;
    EXPECT_EQ(CRect(4, 6, 4 + nSide, 6 + nSide), CRect(first.GetRect()));
    EXPECT_EQ(CRect(4, 6 + nSide + 3, 4 + nSide, 6 + 2 * nSide + 3), CRect(second.GetRect()));
    pFrame->DestroyWindow();
}

TEST(ControlBarCaption, RightToLeftLayoutMirrorsTheButtonsInsideTheCaption)
{
    DockedPanel d;
    const int W = d.bar.GetCaptionRect()->right;
    const CRect rcLtr(d.Button(0)->GetRect());
    const DWORD dwOld = g_CurrentResourceManager->SetLangLayout(LAYOUT_RTL);
    d.bar.LayoutNcAreaButtons();
    const CRect rcRtl(d.Button(0)->GetRect());
    RECT rcText = {2, 0, W - 2, kCaption};
    d.bar.CalcCaptionTextRect(rcText);
    g_CurrentResourceManager->SetLangLayout(dwOld);
    d.bar.LayoutNcAreaButtons();
    EXPECT_EQ(CRect(W - rcLtr.right, rcLtr.top, W - rcLtr.left, rcLtr.bottom), rcRtl);
    EXPECT_EQ(rcRtl.right + 1, rcText.left);
    EXPECT_EQ(rcLtr, CRect(d.Button(0)->GetRect()));
}

TEST(ControlBarCaption, CloseButtonHoverPressAndClick)
{
    ::SetCursorPos(900, 700);  // the real pointer stays off the bar
    DockedPanel d;
    CExtBarNcAreaButton* pClose = d.Button(0);
    const CRect rcClose(pClose->GetRect());
    const CPoint ptClose = d.Screen(rcClose.CenterPoint().x, rcClose.CenterPoint().y);

    struct
    {
        bool bLeft, bRight, bPressed;
    } cases[] = {{false, false, false}, {true, false, true}, {true, true, false}};
    for (const auto& c : cases)
    {
        pClose->ClearHoverAndPressed();
        SetMouseButtons(c.bLeft, c.bRight);
        EXPECT_EQ(HTMINBUTTON, d.HitTest(ptClose)) << c.bLeft << c.bRight;
        SetMouseButtons(false, false);
        EXPECT_TRUE(pClose->IsHover()) << c.bLeft << c.bRight;
        EXPECT_EQ(c.bPressed, pClose->IsPressed()) << c.bLeft << c.bRight;
    }
    EXPECT_NE(0, d.bar.m_nInteractionFlags & CExtControlBar::__EIF_NC_HOVER);

    // Moving over the button repaints once, when its look changes.
    pClose->ClearHoverAndPressed();
    testsupport::PumpPending();
    {
        testsupport::MsgRecorder rec;
        rec.Only({WM_NCPAINT});
        rec.Watch(d.bar.m_hWnd);
        rec.HookThread();
        for (int i = 0; i < 3; i++)
            d.HitTest(ptClose + CPoint(i, 0));
        rec.Unhook();
        EXPECT_TRUE(rec.Matches({{WM_NCPAINT, testsupport::kSent}}));
    }

    // Leaving the buttons: the hover goes and the caption is repainted once.
    testsupport::PumpPending();
    testsupport::MsgRecorder rec;
    rec.Only({WM_NCPAINT});
    rec.Watch(d.bar.m_hWnd);
    rec.HookThread();
    EXPECT_EQ(HTCLIENT, d.HitTest(d.Screen(10, kCaption / 2)));
    EXPECT_EQ(HTCLIENT, d.HitTest(d.Screen(12, kCaption / 2)));
    testsupport::PumpPending();
    rec.Unhook();
    EXPECT_TRUE(rec.Matches({{WM_NCPAINT, testsupport::kPosted}}));
    EXPECT_FALSE(pClose->IsHover());

    // A button-up away from the buttons is not a click; on the Close button it hides the bar.
    d.HitTest(ptClose);
    const CPoint ptAway = d.Screen(10, kCaption / 2);
    d.bar.SendMessage(WM_NCLBUTTONUP, HTCAPTION, MAKELPARAM(ptAway.x, ptAway.y));
    EXPECT_NE(0u, d.bar.GetStyle() & WS_VISIBLE);
    d.HitTest(ptClose);
    d.bar.SendMessage(WM_NCLBUTTONUP, HTMINBUTTON, MAKELPARAM(ptClose.x, ptClose.y));
    EXPECT_EQ(0u, d.bar.GetStyle() & WS_VISIBLE);
    EXPECT_FALSE(pClose->IsHover());
}

TEST(ControlBarCaption, ButtonTipsCarryTheirTextAndClientRectangle)
{
    DockedPanel d;
    struct
    {
        int nButton;
        const char* sText;
    } cases[] = {{0, "Hide"}, {1, "Auto Hide"}, {2, "Options"}};
    for (const auto& c : cases)
    {
        TOOLINFO ti;
        ::ZeroMemory(&ti, sizeof(ti));
        EXPECT_EQ(INT_PTR(0xE940), d.Button(c.nButton)->OnToolHitTest(CPoint(0, 0), &ti)) << c.sText;
        ASSERT_NE(nullptr, ti.lpszText) << c.sText;
        EXPECT_STREQ(c.sText, ti.lpszText);
        EXPECT_EQ(d.bar.m_hWnd, ti.hwnd) << c.sText;
        CRect rcExpected(d.Button(c.nButton)->GetRect());
        rcExpected.OffsetRect(0, -(kCaption + 1));
        EXPECT_EQ(rcExpected, CRect(ti.rect)) << c.sText;
        ::free(ti.lpszText);
    }
    // While the bar shows its tips through the shared tip window, the bar answers no tool.
    TOOLINFO ti;
    ::ZeroMemory(&ti, sizeof(ti));
    EXPECT_EQ(-1, d.bar.OnToolHitTest(CPoint(0, 0), &ti));

    // The shared tip shows the button's text when the pointer moves over the button.
    CExtPopupMenuTipWnd* pTip = d.bar.GetBarTipWnd();
    ASSERT_NE(nullptr, pTip);
    const CPoint ptClose = d.Screen(CRect(d.Button(0)->GetRect()).CenterPoint().x, kCaption / 2);
    d.bar.SendMessage(WM_NCMOUSEMOVE, HTMINBUTTON, MAKELPARAM(ptClose.x, ptClose.y));
    EXPECT_STREQ("Hide", LPCTSTR(pTip->GetText()));
    EXPECT_EQ(int(CExtPopupMenuTipWnd::__ETS_RECTANGLE_NO_ICON), pTip->GetTipStyle());
    pTip->Hide();
    d.bar.m_bSuppressToolTips = true;
    EXPECT_EQ(nullptr, d.bar.GetBarTipWnd());
}

TEST(ControlBarCaption, CaptionColoursPerTheme)
{
    // Colour indices expected at chosen points of an inactive caption, in window
    // coordinates: the caption's top-left edge, its fill, the gap row under it (the
    // non-client background, or the frame's background in the Office-style themes) and
    // the Close button's glyph.
    const int kBlack = -1;
    struct
    {
        CRuntimeClass* pClass;
        CPoint ptEdge;
        int nEdge;
        int nFill;  // at (40, middle of the caption); 0 for a gradient not checked
        CPoint ptGap;
        int nGap;
        int nGlyph;
    } themes[] = {
        {RUNTIME_CLASS(CExtPaintManager), CPoint(2, 1), CExtPaintManager::CLR_3DFACE_OUT, COLOR_INACTIVECAPTION,
         CPoint(40, kCaption), CExtPaintManager::CLR_3DFACE_OUT, kBlack},
        {RUNTIME_CLASS(CExtPaintManagerXP), CPoint(3, 0), COLOR_BTNSHADOW, CExtPaintManager::XPCLR_3DFACE_DARK,
         CPoint(40, kCaption), CExtPaintManager::CLR_3DFACE_OUT, COLOR_3DDKSHADOW},
        {RUNTIME_CLASS(CExtPaintManagerOffice2003), CPoint(2, 1), 3000, 0, CPoint(2, kCaption), 3001,
         COLOR_3DDKSHADOW},
        {RUNTIME_CLASS(CExtPaintManagerStudio2005), CPoint(2, 1), 4000, 4000, CPoint(2, kCaption), 3001,
         COLOR_3DDKSHADOW},
    };
    DockedPanel d;
    const CRect rcWnd(0, 0, d.WindowRect().Width(), d.WindowRect().Height());
    for (const auto& t : themes)
    {
        g_CurrentPaintManager.InstallPaintManagerByClass(t.pClass);
        CExtPaintManager* pPM = g_CurrentPaintManager.GetPM();
        d.bar.SetWindowPos(NULL, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
        testsupport::DibCanvas canvas(rcWnd.Width(), rcWnd.Height(), RGB(1, 2, 3));
        d.bar.DrawNcArea(*CDC::FromHandle(canvas.Dc()));
        const char* sTheme = t.pClass->m_lpszClassName;
        EXPECT_EQ(pPM->LookupColor(t.nEdge, &d.bar), canvas.Pixel(t.ptEdge.x, t.ptEdge.y)) << sTheme;
        if (t.nFill != 0)
        {
            EXPECT_EQ(pPM->LookupColor(t.nFill, &d.bar), canvas.Pixel(40, kCaption / 2)) << sTheme;
        }
        EXPECT_EQ(pPM->LookupColor(t.nGap, &d.bar), canvas.Pixel(t.ptGap.x, t.ptGap.y)) << sTheme;
        const RECT& rcClose = d.Button(0)->GetRect();
        const COLORREF clrGlyph = (t.nGlyph == kBlack) ? RGB(0, 0, 0) : pPM->LookupColor(t.nGlyph, &d.bar);
        EXPECT_EQ(clrGlyph, canvas.Pixel(rcClose.left + 4, rcClose.top + 4)) << sTheme;
        // The client area is left alone.
        EXPECT_EQ(RGB(1, 2, 3), canvas.Pixel(40, kCaption + 1)) << sTheme;
    }
    // With the focus inside the bar the XP caption turns to the highlight colours.
    g_CurrentPaintManager.InstallPaintManagerByClass(RUNTIME_CLASS(CExtPaintManagerXP));
    d.bar.m_nInteractionFlags |= CExtControlBar::__EIF_FOCUS_INSIDE;
    testsupport::DibCanvas canvas(rcWnd.Width(), rcWnd.Height(), RGB(1, 2, 3));
    d.bar.DrawNcArea(*CDC::FromHandle(canvas.Dc()));
    CExtPaintManager* pPM = g_CurrentPaintManager.GetPM();
    EXPECT_EQ(pPM->LookupColor(COLOR_HIGHLIGHT, &d.bar), canvas.Pixel(40, kCaption / 2));
    EXPECT_EQ(pPM->LookupColor(COLOR_HIGHLIGHT, &d.bar), canvas.Pixel(3, 0));
    const RECT& rcClose = d.Button(0)->GetRect();
    EXPECT_EQ(pPM->LookupColor(COLOR_HIGHLIGHTTEXT, &d.bar), canvas.Pixel(rcClose.left + 4, rcClose.top + 4));
}

TEST(ControlBarCaption, TrackedAreasInvertAndRestore)
{
    const int nFrameX = ::GetSystemMetrics(SM_CXFRAME), nFrameY = ::GetSystemMetrics(SM_CYFRAME);
    const CRect rcArea(10, 10, 90, 50);
    const CRect rcEdge(10, 10, 10 + nFrameX, 50);
    const CRect rcInner(10 + nFrameX, 10 + nFrameY, 90 - nFrameX, 50 - nFrameY);
    const int nWhite = 100 * 60;
    for (int nKind : {0, 2})
    {
        testsupport::DibCanvas canvas(100, 60, RGB(255, 255, 255));
        CExtControlBar::DRAW_TRACKED_AREA_DATA data(NULL, CDC::FromHandle(canvas.Dc()), nKind, rcArea, false);
        data.Draw();
        // The halftone brush turns every second pixel black.
        EXPECT_EQ(rcEdge.Width() * rcEdge.Height() / 2, canvas.Count(RGB(0, 0, 0), rcEdge)) << "kind " << nKind;
        const int nInner = rcInner.Width() * rcInner.Height();
        EXPECT_EQ(nKind == 0 ? nInner / 2 : 0, canvas.Count(RGB(0, 0, 0), rcInner)) << "kind " << nKind;
        EXPECT_EQ(0, canvas.Count(RGB(0, 0, 0), CRect(0, 0, 100, 10))) << "kind " << nKind;
        data.Draw();
        EXPECT_EQ(nWhite, canvas.Count(RGB(255, 255, 255), CRect(0, 0, 100, 60))) << "kind " << nKind;
    }
}
