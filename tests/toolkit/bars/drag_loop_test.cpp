// Dragging bars with the mouse: onto the frame's edges in the outline style, onto the dock
// markers of each marker look, the floating frame's caption, the double click that docks
// a floating bar again, the markers' shapes and hover frames, and the quit request that
// arrives while a drag runs.
#include <gtest/gtest.h>

#include <functional>
#include <vector>
#include "framework/afxres.h"
#include "framework/framework.h"
#include "tests/support/dib_canvas.h"
#include "tests/support/message_pump.h"
#include "toolkit/bars/control_bar.h"
#include "toolkit/bars/dyn_control_bar.h"
#include "toolkit/theme/paint_manager.h"

using testsupport::PumpPending;
using testsupport::PumpUntil;

namespace {

void SendMouse(CPoint p, DWORD dwFlags)
{
    INPUT in = {};
    in.type = INPUT_MOUSE;
    in.mi.dx = p.x * 65535 / (::GetSystemMetrics(SM_CXSCREEN) - 1);
    in.mi.dy = p.y * 65535 / (::GetSystemMetrics(SM_CYSCREEN) - 1);
    in.mi.dwFlags = MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE | dwFlags;
    ::SendInput(1, &in, sizeof(in));
}

CRect WndRect(CWnd* p)
{
    CRect rc;
    p->GetWindowRect(&rc);
    return rc;
}

// A frame with one resizable bar docked at its left side; the marker style is forced.
struct DockFrame
{
    CFrameWnd* pFrame = new CFrameWnd;
    CExtControlBar bar;
    explicit DockFrame(int nMarkerStyle, DWORD dwDockStyle = CBRS_ALIGN_ANY)
    {
        CExtControlBar::g_nDockMarkerStyleOverride = nMarkerStyle;
        pFrame->Create(NULL, "Drag", WS_OVERLAPPEDWINDOW, CRect(60, 60, 660, 520));
        bar.Create("Bar", pFrame, 50011, WS_CHILD | WS_VISIBLE | CBRS_LEFT | CBRS_GRIPPER);
        bar.EnableDocking(dwDockStyle);
        pFrame->ShowWindow(SW_SHOWNA);
        if ((dwDockStyle & CBRS_ALIGN_LEFT) != 0)
            bar.DockAtFrameSide(AFX_IDW_DOCKBAR_LEFT);
        else
            bar.DockAtFrameSide(AFX_IDW_DOCKBAR_RIGHT);
        pFrame->RecalcLayout(TRUE);
        pFrame->SetActiveWindow();
        PumpPending();
    }
    ~DockFrame()
    {
        if (::GetCapture() != NULL)
            ::ReleaseCapture();
        pFrame->DestroyWindow();
        PumpPending();
        CExtControlBar::g_nDockMarkerStyleOverride = -1;
    }
    // The middle of the bar's caption, in screen coordinates.
    CPoint CaptionPoint()
    {
        const CRect rcCaption(*bar.GetCaptionRect());
        const CRect rcWnd = WndRect(&bar);
        return CPoint(rcWnd.left + rcCaption.CenterPoint().x, rcWnd.top + rcCaption.CenterPoint().y);
    }
    CRect ClientScreen()
    {
        CRect rc;
        pFrame->GetClientRect(&rc);
        pFrame->ClientToScreen(&rc);
        return rc;
    }
};

// Steps run one per tick of a thread timer, so that they run inside the drag loop.
struct Script
{
    std::vector<std::function<bool()>> steps;
    size_t nStep = 0;
    int nTicks = 0;
    UINT_PTR idTimer = 0;
    static Script* g_pRunning;
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD)
    {
        Script* p = g_pRunning;
        if (p == NULL || p->nStep >= p->steps.size())
            return;
        p->nTicks++;
        if (p->steps[p->nStep]())
            p->nStep++;
    }
    bool Run(DWORD dwTimeout = 8000)
    {
        g_pRunning = this;
        idTimer = ::SetTimer(NULL, 0, 60, Tick);
        const bool bDone = PumpUntil([this] { return nStep >= steps.size(); }, dwTimeout);
        ::KillTimer(NULL, idTimer);
        g_pRunning = NULL;
        PumpPending();
        return bDone;
    }
};
Script* Script::g_pRunning = NULL;

}  // namespace

TEST(DragLoop, OutlineDragDocksAtTheFrameEdgeOrFloats)
{
    struct Case
    {
        const char* sName;
        int nWhere;  // 0 centre of the free area, 1 its right edge, 2 its bottom edge
        UINT nDockBarID;
    } cases[] = {{"float in the middle", 0, AFX_IDW_DOCKBAR_FLOAT},
                 {"right edge", 1, AFX_IDW_DOCKBAR_RIGHT},
                 {"bottom edge", 2, AFX_IDW_DOCKBAR_BOTTOM}};
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.sName);
        DockFrame f(0);
        const CPoint ptPress = f.CaptionPoint();
        const CRect rcClient = f.ClientScreen();
        CPoint ptDrop((WndRect(&f.bar).right + rcClient.right) / 2, rcClient.CenterPoint().y);
        if (c.nWhere == 1)
            ptDrop.x = rcClient.right - 4;
        else if (c.nWhere == 2)
            ptDrop.y = rcClient.bottom - 4;
        SendMouse(ptPress, 0);
        PumpPending();
        SendMouse(ptPress, MOUSEEVENTF_LEFTDOWN);
        for (int i = 1; i <= 4; i++)
            SendMouse(ptPress + CPoint((ptDrop.x - ptPress.x) * i / 4, (ptDrop.y - ptPress.y) * i / 4), 0);
        SendMouse(ptDrop, MOUSEEVENTF_LEFTUP);
        ASSERT_TRUE(PumpUntil([&] { return f.bar.GetDockBarCtrlID() == c.nDockBarID; }, 4000))
            << f.bar.GetDockBarCtrlID();
        PumpPending();
        EXPECT_FALSE(f.bar.IsDragging());
        EXPECT_EQ(nullptr, CExtControlBar::GetDraggedBar());
        EXPECT_NE(f.bar.m_hWnd, ::GetCapture());
    }
}

TEST(DragLoop, DroppingOnAnOuterMarkerDocksAtItsSideInEveryLook)
{
    struct Side
    {
        int nKind;
        UINT nDockBarID;
    } sides[] = {{0, AFX_IDW_DOCKBAR_TOP}, {1, AFX_IDW_DOCKBAR_BOTTOM}, {3, AFX_IDW_DOCKBAR_RIGHT}};
    for (int nLook = 1; nLook <= 3; nLook++)
        for (const Side& s : sides)
        {
            SCOPED_TRACE("look " + std::to_string(nLook) + ", marker " + std::to_string(s.nKind));
            DockFrame f(1);
            CExtPaintManager* pPM = g_CurrentPaintManager.GetPM();
            const int nLookWas = pPM->m_nDockMarkerStyle;
            pPM->m_nDockMarkerStyle = nLook;
            const CPoint ptPress = f.CaptionPoint();
            CPoint ptMarker;
            bool bHighlight = false;
            Script script;
            script.steps = {
                [&] {
                    SendMouse(ptPress + CPoint(30, 30), 0);
                    return true;
                },
                [&] {
                    CExtDynDockMarkerWnd* pMarker = CExtDynDockMarkerWnd::FindMarker(NULL, s.nKind, true);
                    if (pMarker == NULL || !pMarker->IsWindowVisible())
                        return false;
                    ptMarker = WndRect(pMarker).CenterPoint();
                    SendMouse(ptMarker, 0);
                    return true;
                },
                [&] {
                    CExtDynDockMarkerWnd* pMarker = CExtDynDockMarkerWnd::FindMarker(NULL, s.nKind, true);
                    if (pMarker == NULL || pMarker->GetHighlight() == NULL)
                        return script.nTicks > 60;
                    bHighlight = pMarker->GetHighlight()->GetSafeHwnd() != NULL;
                    return true;
                },
                [&] {
                    SendMouse(ptMarker, MOUSEEVENTF_LEFTUP);
                    return true;
                },
            };
            SendMouse(ptPress, 0);
            PumpPending();
            SendMouse(ptPress, MOUSEEVENTF_LEFTDOWN);
            SendMouse(ptPress + CPoint(10, 10), 0);
            EXPECT_TRUE(script.Run());
            ASSERT_TRUE(PumpUntil([&] { return !f.bar.IsDragging(); }, 3000));
            PumpPending();
            EXPECT_TRUE(bHighlight) << "the hovered marker shows where the bar goes";
            EXPECT_EQ(s.nDockBarID, f.bar.GetDockBarCtrlID());
            EXPECT_EQ(0, CExtDynDockMarkerWnd::g_arrOuterMarkers.GetSize());
            pPM->m_nDockMarkerStyle = nLookWas;
        }
}

TEST(DragLoop, TheFloatingFramesCaptionMovesTheFrame)
{
    for (int nStyle : {0, 1})
    {
        SCOPED_TRACE(nStyle == 0 ? "outline" : "markers");
        DockFrame f(nStyle);
        f.bar.FloatControlBar(700, 120, CBRS_ALIGN_TOP);
        PumpPending();
        CFrameWnd* pMini = f.bar.GetParentFrame();
        ASSERT_TRUE(pMini != NULL && pMini->IsKindOf(RUNTIME_CLASS(CExtMiniDockFrameWnd)));
        const CRect rc0 = WndRect(pMini);
        const CRect rcCaption(static_cast<CExtMiniDockFrameWnd*>(pMini)->GetCaptionRect());
        const CPoint ptPress(rc0.left + 20, rc0.top + rcCaption.CenterPoint().y);
        ASSERT_EQ(HTCAPTION, pMini->SendMessage(WM_NCHITTEST, 0, MAKELPARAM(ptPress.x, ptPress.y)));
        SendMouse(ptPress, 0);
        PumpPending();
        SendMouse(ptPress, MOUSEEVENTF_LEFTDOWN);
        SendMouse(ptPress + CPoint(30, 20), 0);
        SendMouse(ptPress + CPoint(60, 40), 0);
        SendMouse(ptPress + CPoint(60, 40), MOUSEEVENTF_LEFTUP);
        ASSERT_TRUE(PumpUntil([&] { return ::IsWindow(pMini->m_hWnd) && WndRect(pMini).left != rc0.left; }, 3000));
        PumpPending();
        EXPECT_EQ(rc0.TopLeft() + CPoint(60, 40), WndRect(f.bar.GetParentFrame()).TopLeft());
        EXPECT_TRUE(f.bar.IsFloating());
    }
}

TEST(DragLoop, DoubleClickOnAFloatingBarsCaptionDocksItAgain)
{
    struct Case
    {
        const char* sName;
        DWORD dwDockStyle;
        UINT nDockBarID;
    } cases[] = {{"back to the side it left", CBRS_ALIGN_ANY, AFX_IDW_DOCKBAR_LEFT},
                 {"a bar docking only at the right", CBRS_ALIGN_RIGHT, AFX_IDW_DOCKBAR_RIGHT}};
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.sName);
        DockFrame f(0, c.dwDockStyle);
        ASSERT_EQ(c.nDockBarID, f.bar.GetDockBarCtrlID());
        f.bar.ToggleDocking();
        PumpPending();
        ASSERT_TRUE(f.bar.IsFloating());
        CFrameWnd* pMini = f.bar.GetParentFrame();
        ASSERT_NE(nullptr, pMini);
        const CRect rc = WndRect(pMini);
        pMini->SendMessage(WM_NCLBUTTONDBLCLK, HTCAPTION, MAKELPARAM(rc.left + 10, rc.top + 8));
        PumpPending();
        EXPECT_FALSE(f.bar.IsFloating());
        EXPECT_EQ(c.nDockBarID, f.bar.GetDockBarCtrlID());
        EXPECT_TRUE(f.bar.IsWindowVisible());
    }
}

TEST(DragLoop, AQuitRequestEndsTheDragAsACancelAndIsPostedAgainOnce)
{
    struct Case
    {
        const char* sName;
        int nThreshold;  // 1: waiting for the cursor to move; 0: dragging at once
    } cases[] = {{"while waiting for the threshold", 1}, {"while dragging", 0}};
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.sName);
        DockFrame f(0);
        const CPoint ptPress = f.CaptionPoint();
        const CRect rcBar0 = WndRect(&f.bar);
        // The button is held down on the frame's empty middle, so the loop keeps going.
        const CPoint ptHeld = f.ClientScreen().CenterPoint() + CPoint(100, 0);
        SendMouse(ptHeld, MOUSEEVENTF_LEFTDOWN);
        PumpPending();
        ::PostQuitMessage(9);
        f.bar.DragLoop(ptPress, CSize(0, 0), c.nThreshold, c.nThreshold);
        EXPECT_FALSE(f.bar.IsDragging());
        EXPECT_NE(f.bar.m_hWnd, ::GetCapture());
        EXPECT_EQ(nullptr, CExtControlBar::GetDraggedBar());
        EXPECT_EQ(UINT(AFX_IDW_DOCKBAR_LEFT), f.bar.GetDockBarCtrlID());
        EXPECT_EQ(rcBar0, WndRect(&f.bar));
        MSG msg;
        ASSERT_TRUE(::PeekMessage(&msg, NULL, WM_QUIT, WM_QUIT, PM_REMOVE));
        EXPECT_EQ(9u, msg.wParam);
        EXPECT_FALSE(::PeekMessage(&msg, NULL, WM_QUIT, WM_QUIT, PM_REMOVE));
        SendMouse(ptHeld, MOUSEEVENTF_LEFTUP);
        PumpPending();
    }
}

TEST(DockMarkers, ShapeAndHoverFramePerTheme)
{
    struct Case
    {
        const char* sName;
        CRuntimeClass* pTheme;
        int nLook;
        bool bHoverFrame;
    } cases[] = {
        {"XP, classic look", RUNTIME_CLASS(CExtPaintManagerXP), 1, false},
        {"Office 2003, framed look", RUNTIME_CLASS(CExtPaintManagerOffice2003), 2, true},
        {"Studio 2005, framed look", RUNTIME_CLASS(CExtPaintManagerStudio2005), 3, true},
    };
    const COLORREF clrFrame = RGB(0x00, 0x60, 0xC4);
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.sName);
        ASSERT_TRUE(g_CurrentPaintManager.InstallPaintManagerByClass(c.pTheme));
        CExtPaintManager* pPM = g_CurrentPaintManager.GetPM();
        pPM->m_nDockMarkerStyle = c.nLook;
        const RECT rcArea = {100, 100, 500, 400};
        ASSERT_TRUE(pPM->CreateDockMarkerWindows(NULL, 5, rcArea, CExtDynDockMarkerWnd::g_arrOuterMarkers));
        ASSERT_EQ(4, CExtDynDockMarkerWnd::g_arrOuterMarkers.GetSize());
        CExtDynDockMarkerWnd* pTop = CExtDynDockMarkerWnd::FindMarker(NULL, 0, true);
        ASSERT_NE(nullptr, pTop);
        EXPECT_EQ(14, pTop->GetDockSideCode());
        EXPECT_FALSE(pTop->IsWindowVisible()) << "markers are made hidden";
        EXPECT_EQ(WS_EX_TOPMOST, pTop->GetExStyle() & WS_EX_TOPMOST);
        EXPECT_EQ(MA_NOACTIVATEANDEAT, pTop->SendMessage(WM_MOUSEACTIVATE, 0, MAKELPARAM(HTCLIENT, WM_LBUTTONDOWN)));
        // The shape: the transparent corner of the image is no part of the window.
        HRGN hRgn = ::CreateRectRgn(0, 0, 0, 0);
        ASSERT_NE(ERROR, ::GetWindowRgn(pTop->m_hWnd, hRgn));
        const CRect rcTop = WndRect(pTop);
        EXPECT_TRUE(::PtInRegion(hRgn, rcTop.Width() / 2, rcTop.Height() / 2));
        ::DeleteObject(hRgn);
        // The hover look of a framed outer marker draws a frame along its edges.
        pTop->m_nHoverState = 1;
        testsupport::DibCanvas canvas(rcTop.Width(), rcTop.Height(), RGB(255, 255, 255));
        pTop->SendMessage(WM_PRINTCLIENT, (WPARAM)canvas.Dc(), PRF_CLIENT);
        EXPECT_EQ(c.bHoverFrame, canvas.Pixel(0, rcTop.Height() / 2) == clrFrame);
        EXPECT_EQ(c.bHoverFrame, canvas.Pixel(rcTop.Width() / 2, 0) == clrFrame);
        pTop->m_nHoverState = 2;
        testsupport::DibCanvas normal(rcTop.Width(), rcTop.Height(), RGB(255, 255, 255));
        pTop->SendMessage(WM_PRINTCLIENT, (WPARAM)normal.Dc(), PRF_CLIENT);
        EXPECT_NE(clrFrame, normal.Pixel(0, rcTop.Height() / 2));
        CExtDynDockMarkerWnd::DestroyAllMarkers();
        PumpPending();
        EXPECT_EQ(0, CExtDynDockMarkerWnd::g_arrOuterMarkers.GetSize());
    }
    g_CurrentPaintManager.InstallPaintManagerByClass(RUNTIME_CLASS(CExtPaintManagerXP));
}

TEST(DragLoop, DroppingOnAnInnerMarkerDocksBesideOrJoinsAsATab)
{
    struct Case
    {
        const char* sName;
        int nKind;  // the inner marker over the right-hand bar
    } cases[] = {{"centre joins as a tab", 8}, {"left arm docks beside", 2}};
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.sName);
        DockFrame f(1);
        CExtControlBar other;
        ASSERT_TRUE(other.Create("Other", f.pFrame, 50012, WS_CHILD | WS_VISIBLE | CBRS_RIGHT | CBRS_GRIPPER));
        other.EnableDocking(CBRS_ALIGN_ANY);
        other.DockAtFrameSide(AFX_IDW_DOCKBAR_RIGHT);
        f.pFrame->RecalcLayout(TRUE);
        PumpPending();
        const CPoint ptPress = f.CaptionPoint();
        const CPoint ptOver = WndRect(&other).CenterPoint() + CPoint(0, 60);
        CPoint ptMarker;
        Script script;
        script.steps = {
            [&] {
                SendMouse(ptOver, 0);
                return true;
            },
            [&] {
                CExtDynDockMarkerWnd* pMarker = CExtDynDockMarkerWnd::FindMarker(other.m_hWnd, c.nKind, false);
                if (pMarker == NULL || !pMarker->IsWindowVisible())
                    return false;
                ptMarker = WndRect(pMarker).CenterPoint();
                SendMouse(ptMarker, 0);
                return true;
            },
            [&] { return script.nTicks > 8 + int(script.nStep); },
            [&] {
                SendMouse(ptMarker, MOUSEEVENTF_LEFTUP);
                return true;
            },
        };
        SendMouse(ptPress, 0);
        PumpPending();
        SendMouse(ptPress, MOUSEEVENTF_LEFTDOWN);
        SendMouse(ptPress + CPoint(10, 10), 0);
        EXPECT_TRUE(script.Run());
        ASSERT_TRUE(PumpUntil([&] { return !f.bar.IsDragging(); }, 3000));
        PumpPending();
        EXPECT_EQ(0, CExtDynDockMarkerWnd::g_arrInnerMarkers.GetSize());
        EXPECT_FALSE(f.bar.IsFloating());
        if (c.nKind == 8)
        {
            ASSERT_NE(nullptr, f.bar.GetTabbedContainer());
            EXPECT_EQ(f.bar.GetTabbedContainer(), other.GetTabbedContainer());
        }
        else
        {
            // Beside the other bar: both now share the place it had, in one nested dock bar.
            EXPECT_EQ(nullptr, f.bar.GetTabbedContainer());
            ASSERT_NE(nullptr, f.bar.m_pDockBar);
            EXPECT_TRUE(f.bar.m_pDockBar->IsKindOf(RUNTIME_CLASS(CExtDockDynBar)));
            EXPECT_EQ(f.bar.m_pDockBar, other.m_pDockBar);
        }
        other.DestroyWindow();
    }
}
