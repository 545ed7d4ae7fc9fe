#include <gtest/gtest.h>
#include <utility>
#include <vector>
#include "framework/framework.h"
#include "toolkit/grid/scroll_bar.h"
#include "toolkit/theme/pm_scroll_bar.h"
#include "support/message_pump.h"
#include "support/dib_canvas.h"

using testsupport::DibCanvas;

namespace {

// (scroll code, position) of every WM_HSCROLL / WM_VSCROLL the parent received.
std::vector<std::pair<int, int>> g_notes;

LRESULT CALLBACK ParentProc(HWND h, UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == WM_HSCROLL || msg == WM_VSCROLL)
        g_notes.push_back({LOWORD(wp), HIWORD(wp)});
    return ::DefWindowProcA(h, msg, wp, lp);
}

HWND MakeParent(int x, int y, int cx, int cy)
{
    static bool s_registered = false;
    if (!s_registered)
    {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = ParentProc;
        wc.hInstance = ::GetModuleHandle(NULL);
        wc.hCursor = ::LoadCursor(NULL, IDC_ARROW);
        wc.lpszClassName = "GridScrollBarTestParent";
        ::RegisterClassA(&wc);
        s_registered = true;
    }
    return ::CreateWindowExA(WS_EX_TOPMOST, "GridScrollBarTestParent", "", WS_POPUP | WS_VISIBLE,
                             x, y, cx, cy, NULL, NULL, NULL, NULL);
}

void SetInfo(CExtScrollBar& bar, int nMin, int nMax, int nPage, int nPos)
{
    SCROLLINFO si = {sizeof(si), SIF_ALL, nMin, nMax, (UINT)nPage, nPos, 0};
    bar.SetScrollInfo(&si, TRUE);
}

// Mouse input in screen coordinates, as the user would give it.
void MouseAt(int x, int y, DWORD dwButtonFlags)
{
    const int cxScreen = ::GetSystemMetrics(SM_CXSCREEN), cyScreen = ::GetSystemMetrics(SM_CYSCREEN);
    INPUT in = {};
    in.type = INPUT_MOUSE;
    in.mi.dx = (x * 65536 + cxScreen - 1) / cxScreen;
    in.mi.dy = (y * 65536 + cyScreen - 1) / cyScreen;
    in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | dwButtonFlags;
    ::SendInput(1, &in, sizeof(in));
}

// Steps run one per tick of a thread timer while the bar's tracking loop runs.
std::vector<POINT> g_script;
size_t g_nScriptStep = 0;
void CALLBACK ScriptTick(HWND, UINT, UINT_PTR idTimer, DWORD)
{
    if (g_nScriptStep < g_script.size())
    {
        const POINT pt = g_script[g_nScriptStep++];
        MouseAt(pt.x, pt.y, g_nScriptStep == g_script.size() ? MOUSEEVENTF_LEFTUP : 0);
    }
    else
        ::KillTimer(NULL, idTimer);
}

}  // namespace

TEST(GridScrollBar, KindFollowsTheStyleAndLayoutTakesItsStrip)
{
    HWND hParent = MakeParent(20, 20, 300, 200);
    const struct
    {
        DWORD style;
        int kind;
        RECT bar;   // where the layout puts the bar
        RECT left;  // the layout rectangle left over
    } cases[] = {
        {SBS_HORZ, 1, {0, 183, 300, 200}, {0, 0, 300, 183}},
        {SBS_HORZ | SBS_TOPALIGN, 0, {0, 0, 300, 17}, {0, 17, 300, 200}},
        {SBS_VERT, 3, {283, 0, 300, 200}, {0, 0, 283, 200}},
        {SBS_VERT | SBS_LEFTALIGN, 2, {0, 0, 17, 200}, {17, 0, 300, 200}},
    };
    const int cyH = ::GetSystemMetrics(SM_CYHSCROLL), cxV = ::GetSystemMetrics(SM_CXVSCROLL);
    for (const auto& c : cases)
    {
        SCOPED_TRACE(testing::Message() << "style " << c.style);
        CExtScrollBar bar;
        ASSERT_TRUE(bar.Create(WS_CHILD | WS_VISIBLE | c.style, CRect(0, 0, 10, 10),
                               CWnd::FromHandle(hParent), 100));
        EXPECT_EQ(c.kind, bar.GetBarKind());
        // The cases assume the usual 17-pixel bars; scale them by the real metrics.
        auto Fix = [&](RECT rc) {
            auto fixOne = [&](LONG& v, LONG full, int thick) {
                if (v == 17) v = thick;
                if (v == full - 17) v = full - thick;
            };
            fixOne(rc.top, 200, cyH), fixOne(rc.bottom, 200, cyH);
            fixOne(rc.left, 300, cxV), fixOne(rc.right, 300, cxV);
            return rc;
        };
        CRect rcBefore, rcAfter, rcLeft;
        bar.GetWindowRect(&rcBefore);
        CWnd::FromHandle(hParent)->RepositionBars(0, 0xFFFF, 0, reposQuery, &rcLeft);
        EXPECT_EQ(CRect(Fix(c.left)), rcLeft);
        bar.GetWindowRect(&rcAfter);
        EXPECT_EQ(rcBefore, rcAfter) << "a query moves no window";
        CWnd::FromHandle(hParent)->RepositionBars(0, 0xFFFF, 0, reposDefault);
        CRect rcBar;
        bar.GetWindowRect(&rcBar);
        ::MapWindowPoints(NULL, hParent, (POINT*)&rcBar, 2);
        EXPECT_EQ(CRect(Fix(c.bar)), rcBar);
        bar.DestroyWindow();
    }
    g_CurrentPaintManager.InstallPaintManagerByClass(RUNTIME_CLASS(CExtPaintManagerXP));
    ::DestroyWindow(hParent);
}

TEST(GridScrollBar, AttachedEndWindowIsHiddenRatherThanSqueezed)
{
    HWND hParent = MakeParent(20, 20, 300, 200);
    const int nArrow = ::GetSystemMetrics(SM_CXHSCROLL);
    const struct
    {
        int nParentWidth;
        bool bShown;
    } cases[] = {{300, true}, {40 + 2 * nArrow, false}};
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.nParentWidth);
        ::SetWindowPos(hParent, NULL, 0, 0, c.nParentWidth, 200, SWP_NOMOVE | SWP_NOZORDER);
        CWnd attached;
        attached.Attach(::CreateWindowA("STATIC", "", WS_CHILD | WS_VISIBLE, 0, 0, 40, 10, hParent,
                                        (HMENU)200, NULL, NULL));
        CExtScrollBar bar;
        ASSERT_TRUE(bar.Create(WS_CHILD | WS_VISIBLE | SBS_HORZ, CRect(0, 0, 10, 10),
                               CWnd::FromHandle(hParent), 100));
        bar.m_hWndAttachedEnd = attached.m_hWnd;
        CWnd::FromHandle(hParent)->RepositionBars(100, 100, 0, reposDefault);
        EXPECT_EQ(c.bShown, ::IsWindowVisible(attached.m_hWnd) != FALSE);
        CRect rcBar, rcAttached;
        bar.GetWindowRect(&rcBar);
        attached.GetWindowRect(&rcAttached);
        if (c.bShown)
        {
            EXPECT_EQ(rcBar.right, rcAttached.left) << "the bar gives up the window's length";
            EXPECT_EQ(rcBar.Height(), rcAttached.Height()) << "the window takes the bar's thickness";
            EXPECT_EQ(rcBar.top, rcAttached.top);
        }
        else
            EXPECT_EQ(c.nParentWidth, rcBar.Width());
        bar.DestroyWindow();
        attached.DestroyWindow();
    }
    ::DestroyWindow(hParent);
}

// A bar whose range does not start at 0: thumb drags and page presses stay within
// nMin ... nMin + L and tell the parent in the order the user caused them.
TEST(GridScrollBar, TrackingKeepsANonZeroMinimum)
{
    const int x0 = 100, y0 = 100;
    HWND hParent = MakeParent(x0, y0, 300, 60);
    ::SetForegroundWindow(hParent);
    struct Case
    {
        const char* name;
        int nPos;
        int nPart;  // 3 thumb, 5 page after the thumb
        int dxScript;  // where the script moves the pointer, from the press point
        std::vector<std::pair<int, int>> notes;
        int nFinal;
    };
    const Case cases[] = {
        {"thumb past the end", 1000, 3, 400, {{SB_THUMBTRACK, 1900}, {SB_THUMBPOSITION, 1900}}, 1900},
        {"thumb past the start", 1900, 3, -400, {{SB_THUMBTRACK, 1000}, {SB_THUMBPOSITION, 1000}}, 1000},
        {"page near the end", 1850, 5, 0,
         {{SB_PAGEDOWN, 0}, {SB_THUMBTRACK, 1900}, {SB_THUMBPOSITION, 1900}}, 1900},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        CExtScrollBar bar;
        ASSERT_TRUE(bar.Create(WS_CHILD | WS_VISIBLE | SBS_HORZ, CRect(0, 0, 260, 17),
                               CWnd::FromHandle(hParent), 100));
        SetInfo(bar, 1000, 1999, 100, c.nPos);
        testsupport::PumpPending();
        CExtPaintManager::PAINTSCROLLBARDATA rec(&bar);
        RECT rcPart;
        rec.PartRect(rcPart, c.nPart);
        ASSERT_FALSE(::IsRectEmpty(&rcPart));
        const POINT ptPress = {x0 + (rcPart.left + rcPart.right) / 2, y0 + (rcPart.top + rcPart.bottom) / 2};
        g_notes.clear();
        g_script = {{ptPress.x + c.dxScript, ptPress.y}, {ptPress.x + c.dxScript, ptPress.y},
                    {ptPress.x + c.dxScript, ptPress.y}};
        g_nScriptStep = 0;
        ::SetTimer(NULL, 0, 150, ScriptTick);
        MouseAt(ptPress.x, ptPress.y, 0);
        MouseAt(ptPress.x, ptPress.y, MOUSEEVENTF_LEFTDOWN);
        // A bound for a failure only: a busy machine may take seconds to deliver the script.
        testsupport::PumpUntil([&] { return !g_notes.empty() && g_notes.back().first == SB_THUMBPOSITION; },
                               30000);
        EXPECT_EQ(c.notes, g_notes);
        EXPECT_EQ(c.nFinal, bar.GetScrollPos());
        EXPECT_FALSE(bar.m_bTracking);
        EXPECT_EQ(-1, bar.m_nTrackPos);
        EXPECT_FALSE(bar.m_bTrackPosValid);
        bar.DestroyWindow();
        testsupport::PumpPending();
    }
    ::DestroyWindow(hParent);
}

TEST(GridScrollBar, TrackPositionQueryAndRedrawMessages)
{
    HWND hParent = MakeParent(20, 20, 300, 60);
    CExtScrollBar bar;
    ASSERT_TRUE(bar.Create(WS_CHILD | WS_VISIBLE | SBS_HORZ, CRect(0, 0, 200, 17),
                           CWnd::FromHandle(hParent), 100));
    SetInfo(bar, -50, 50, 10, 0);
    EXPECT_EQ(0, bar.GetScrollPosEx(true));
    bar.m_bTrackPosValid = true;
    bar.m_nTrackPos = -37;
    EXPECT_EQ(-37, bar.GetScrollPosEx(true)) << "an owner asking during a drag gets the bar's own";
    EXPECT_EQ(0, bar.GetScrollPosEx(false));
    bar.m_bTrackPosValid = false;
    const UINT redraw[] = {SBM_SETPOS, SBM_SETRANGE, SBM_ENABLE_ARROWS, SBM_SETRANGEREDRAW, SBM_SETSCROLLINFO};
    for (UINT m : redraw)
        EXPECT_TRUE(bar.IsRedrawMessage(m)) << m;
    EXPECT_FALSE(bar.IsRedrawMessage(SBM_GETPOS));
    bar.m_bThemedLook = false;
    EXPECT_FALSE(bar.IsRedrawMessage(SBM_SETPOS));
    bar.DestroyWindow();
    ::DestroyWindow(hParent);
}

// The bar on screen is exactly what the current theme draws for its record: arrows,
// page areas and thumb from the bar's own metrics and range, for every theme.
TEST(GridScrollBar, PaintsThroughTheCurrentTheme)
{
    HWND hParent = MakeParent(40, 40, 300, 60);
    CRuntimeClass* themes[] = {RUNTIME_CLASS(CExtPaintManagerXP), RUNTIME_CLASS(CExtPaintManagerOffice2003),
                               RUNTIME_CLASS(CExtPaintManagerStudio2005)};
    for (CRuntimeClass* pTheme : themes)
    {
        SCOPED_TRACE(pTheme->m_lpszClassName);
        ASSERT_TRUE(g_CurrentPaintManager.InstallPaintManagerByClass(pTheme));
        CExtScrollBar bar;
        ASSERT_TRUE(bar.Create(WS_CHILD | WS_VISIBLE | SBS_HORZ, CRect(0, 0, 240, 17), CWnd::FromHandle(hParent), 100));
        SetInfo(bar, -20, 79, 25, 10);
        ::RedrawWindow(bar.m_hWnd, NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW);
        testsupport::PumpPending();
        DibCanvas expected(240, 17, RGB(1, 2, 3));
        {
            CExtPaintManager::PAINTSCROLLBARDATA rec(&bar);
            rec.m_bAlwaysSet = bar.m_bThemeBackgroundFlag;
            rec.m_eHoverPart = -1;
            EXPECT_FALSE(::IsRectEmpty(&rec.m_rcThumb));
            EXPECT_FALSE(::IsRectEmpty(&rec.m_rcSecondPage));
            CDC dc;
            dc.Attach(expected.Dc());
            g_CurrentPaintManager->DrawScrollBar(dc, rec);
            dc.Detach();
        }
        HDC hScreen = ::GetDC(NULL);
        int nDifferent = 0;
        for (int y = 0; y < 17; y++)
            for (int x = 0; x < 240; x++)
                if (::GetPixel(hScreen, 40 + x, 40 + y) != expected.Pixel(x, y))
                    nDifferent++;
        ::ReleaseDC(NULL, hScreen);
        EXPECT_EQ(0, nDifferent);
        bar.DestroyWindow();
    }
    g_CurrentPaintManager.InstallPaintManagerByClass(RUNTIME_CLASS(CExtPaintManagerXP));
    ::DestroyWindow(hParent);
}
