// Modal loops on plain windows (idle messages and their counts), RepositionBars with
// test bars, and the tooltip relay (tools registered from OnToolHitTest, texts freed).
#include <gtest/gtest.h>
#include "framework_test_app.h"
#ifndef PSAPI_VERSION
#define PSAPI_VERSION 2  // kernel32's K32 entry points: no psapi.dll import
#endif
#include <psapi.h>
#include "support/message_pump.h"

namespace {

LPCTSTR PopupClass() { return AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursor(NULL, IDC_ARROW)); }

class CModalWnd : public CWnd {
public:
    std::vector<LPARAM> kicks;
    int wantIdle = 2;          // answers TRUE (more idle work) for counts below this
    int postsLeft = 1;         // messages posted to restart idle before ending
    afx_msg LRESULT OnKickIdle(WPARAM wParam, LPARAM lParam) {
        EXPECT_EQ((WPARAM)MSGF_DIALOGBOX, wParam);
        kicks.push_back(lParam);
        if (lParam >= wantIdle) {
            if (postsLeft-- > 0)
                PostMessage(WM_USER + 7);  // a normal message: idle starts again from 0
            else
                EndModalLoop(9);
        }
        return lParam < wantIdle;
    }
    afx_msg LRESULT OnUser7(WPARAM, LPARAM) { return 0; }
    afx_msg void OnTimer(UINT_PTR) {
        KillTimer(1);
        EndModalLoop(4);
    }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CModalWnd, CWnd)
    ON_MESSAGE(WM_KICKIDLE, &CModalWnd::OnKickIdle)
    ON_MESSAGE(WM_USER + 7, &CModalWnd::OnUser7)
    ON_WM_TIMER()
END_MESSAGE_MAP()

// A bar that docks to the top or bottom of the free area and takes a fixed height.
class CTestBar : public CWnd {
public:
    bool top = true;
    int height = 20;
    int asked = 0;
    afx_msg LRESULT OnSizeParent(WPARAM, LPARAM lParam) {
        ++asked;
        AFX_SIZEPARENTPARAMS* p = (AFX_SIZEPARENTPARAMS*)lParam;
        CRect rc = p->rect;
        if (top) {
            rc.bottom = rc.top + height;
            p->rect.top += height;
        } else {
            rc.top = rc.bottom - height;
            p->rect.bottom -= height;
        }
        p->sizeTotal.cy += height;
        if (rc.Width() > p->sizeTotal.cx) p->sizeTotal.cx = rc.Width();
        AfxRepositionWindow(p, m_hWnd, &rc);
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CTestBar, CWnd)
    ON_MESSAGE(WM_SIZEPARENT, &CTestBar::OnSizeParent)
END_MESSAGE_MAP()

CRect RectIn(const CWnd& parent, const CWnd& child) {
    CRect rc;
    child.GetWindowRect(&rc);
    parent.ScreenToClient(&rc);
    return rc;
}

// Hands out tools with texts made by malloc, as the framework expects.
class CTipWnd : public CWnd {
public:
    size_t textSize = 16;
    bool callback = false;
    int hits = 0;
    INT_PTR OnToolHitTest(CPoint point, TOOLINFO* pTI) const override {
        const_cast<CTipWnd*>(this)->hits++;
        if (pTI == NULL) return -1;
        pTI->hwnd = m_hWnd;
        pTI->uId = point.x < 50 ? 1 : 2;
        SetRect(&pTI->rect, point.x < 50 ? 0 : 50, 0, point.x < 50 ? 50 : 100, 100);
        if (callback) {
            pTI->lpszText = LPSTR_TEXTCALLBACK;
        } else {
            char* text = (char*)malloc(textSize);
            memset(text, 'x', textSize - 1);
            text[textSize - 1] = '\0';
            memcpy(text, point.x < 50 ? "left" : "rght", 4);
            pTI->lpszText = text;
        }
        return (INT_PTR)pTI->uId;
    }
};

MSG MouseMove(const CWnd& wnd, int x, int y) {
    MSG msg = {};
    msg.hwnd = wnd.m_hWnd;
    msg.message = WM_MOUSEMOVE;
    msg.lParam = MAKELPARAM(x, y);
    POINT pt = {x, y};
    wnd.ClientToScreen(&pt);
    msg.pt = pt;
    return msg;
}

std::string ToolText(HWND hTip, HWND hWnd, UINT_PTR id) {
    char buf[256] = {};
    TOOLINFOA ti = {};
    ti.cbSize = AFX_OLDTOOLINFO_SIZE;
    ti.hwnd = hWnd;
    ti.uId = id;
    ti.lpszText = buf;
    SendMessageA(hTip, TTM_GETTEXTA, sizeof(buf), (LPARAM)&ti);
    return buf;
}

}  // namespace

TEST(WndModalLoop, IdleMessagesCountUpAndRestartAfterANormalMessage) {
    CModalWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, PopupClass(), "modal", WS_POPUP, CRect(0, 0, 50, 50), NULL, 0));
    EXPECT_EQ(9, wnd.RunModalLoop(0));
    EXPECT_EQ((std::vector<LPARAM>{0, 1, 2, 0, 1, 2}), wnd.kicks);
    EXPECT_FALSE(wnd.ContinueModal());
    EXPECT_EQ(0u, wnd.m_nFlags & (WF_MODALLOOP | WF_CONTINUEMODAL));

    // Without kick-idle messages the loop only ends from a real message (a timer here).
    wnd.kicks.clear();
    wnd.SetTimer(1, 10, NULL);
    EXPECT_EQ(4, wnd.RunModalLoop(MLF_NOKICKIDLE));
    EXPECT_TRUE(wnd.kicks.empty());

    // MLF_SHOWONIDLE shows a hidden window when the queue first runs dry.
    wnd.kicks.clear();
    wnd.postsLeft = 0;
    wnd.wantIdle = 0;
    EXPECT_FALSE(wnd.IsWindowVisible());
    EXPECT_EQ(9, wnd.RunModalLoop(MLF_SHOWONIDLE));
    EXPECT_TRUE(wnd.IsWindowVisible());
    wnd.DestroyWindow();
}

TEST(WndLayout, RepositionBarsGivesBarsTheirShareAndTheRestToTheLeftOver) {
    CWnd parent;
    ASSERT_TRUE(parent.CreateEx(0, PopupClass(), "layout", WS_POPUP, CRect(0, 0, 300, 200), NULL, 0));
    CRect client;
    parent.GetClientRect(&client);
    ASSERT_EQ(CRect(0, 0, 300, 200), client);
    CTestBar top, bottom, outside;
    CWnd pane;
    bottom.top = false;
    bottom.height = 15;
    ASSERT_TRUE(top.Create(NULL, "top", WS_VISIBLE, CRect(0, 0, 1, 1), &parent, 0xE801));
    ASSERT_TRUE(bottom.Create(NULL, "bottom", WS_VISIBLE, CRect(0, 0, 1, 1), &parent, 0xE802));
    ASSERT_TRUE(outside.Create(NULL, "outside", WS_VISIBLE, CRect(0, 0, 1, 1), &parent, 0x100));
    ASSERT_TRUE(pane.Create(NULL, "pane", WS_VISIBLE, CRect(0, 0, 1, 1), &parent, AFX_IDW_PANE_FIRST));

    // Query: nothing moves; the answer is the free area, or the bars' total size.
    CRect answer;
    parent.RepositionBars(0xE800, 0xE8FF, AFX_IDW_PANE_FIRST, reposQuery, &answer, NULL, TRUE);
    EXPECT_EQ(CRect(0, 20, 300, 185), answer);
    parent.RepositionBars(0xE800, 0xE8FF, AFX_IDW_PANE_FIRST, reposQuery, &answer, NULL, FALSE);
    EXPECT_EQ(CRect(0, 0, 300, 35), answer);
    EXPECT_EQ(CRect(0, 0, 1, 1), RectIn(parent, top));
    EXPECT_EQ(0, outside.asked);

    parent.RepositionBars(0xE800, 0xE8FF, AFX_IDW_PANE_FIRST);
    EXPECT_EQ(CRect(0, 0, 300, 20), RectIn(parent, top));
    EXPECT_EQ(CRect(0, 185, 300, 200), RectIn(parent, bottom));
    EXPECT_EQ(CRect(0, 20, 300, 185), RectIn(parent, pane));
    EXPECT_EQ(0, outside.asked);

    // Extra margins around the left-over window, and a given client rectangle.
    CRect margins(5, 6, 7, 8);
    parent.RepositionBars(0xE800, 0xE8FF, AFX_IDW_PANE_FIRST, reposExtra, &margins);
    EXPECT_EQ(CRect(5, 26, 293, 177), RectIn(parent, pane));
    CRect area(10, 10, 110, 110);
    parent.RepositionBars(0xE800, 0xE8FF, AFX_IDW_PANE_FIRST, reposDefault, NULL, &area);
    EXPECT_EQ(CRect(10, 10, 110, 30), RectIn(parent, top));
    EXPECT_EQ(CRect(10, 95, 110, 110), RectIn(parent, bottom));
    EXPECT_EQ(CRect(10, 30, 110, 95), RectIn(parent, pane));

    // reposNoPosLeftOver lays the bars out and leaves the left-over window where it is;
    // with a query it still answers.
    parent.RepositionBars(0xE800, 0xE8FF, AFX_IDW_PANE_FIRST, reposDefault | reposNoPosLeftOver);
    EXPECT_EQ(CRect(0, 0, 300, 20), RectIn(parent, top));
    EXPECT_EQ(CRect(10, 30, 110, 95), RectIn(parent, pane));
    parent.RepositionBars(0xE800, 0xE8FF, AFX_IDW_PANE_FIRST, reposQuery | reposNoPosLeftOver, &answer);
    EXPECT_EQ(CRect(0, 20, 300, 185), answer);

    // The whole control id counts: 0x1E801 is not in 0xE800..0xE8FF.
    CTestBar wide;
    ASSERT_TRUE(wide.Create(NULL, "wide", WS_VISIBLE, CRect(0, 0, 1, 1), &parent, 0x1E801));
    parent.RepositionBars(0xE800, 0xE8FF, AFX_IDW_PANE_FIRST);
    EXPECT_EQ(0, wide.asked);
    EXPECT_EQ(CRect(0, 20, 300, 185), RectIn(parent, pane));
    parent.DestroyWindow();
}

TEST(WndToolTips, TheRelayRegistersTheHitToolAndFreesItsText) {
    CTipWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, PopupClass(), "tips", WS_POPUP, CRect(0, 0, 100, 100), NULL, 0));
    EXPECT_TRUE(wnd.EnableToolTips(TRUE));
    EXPECT_TRUE(wnd.m_nFlags & WF_TOOLTIPS);
    _AFX_THREAD_STATE* pState = AfxGetThreadState();

    // The thread's control is made (or made anew for this window's top-level window)
    // when the mouse first moves over the window.
    MSG msg = MouseMove(wnd, 10, 10);
    EXPECT_FALSE(wnd.PreTranslateMessage(&msg));
    EXPECT_EQ(1, wnd.hits);
    ASSERT_TRUE(pState->m_pToolTip != NULL);
    HWND hTip = pState->m_pToolTip->m_hWnd;
    ASSERT_TRUE(IsWindow(hTip));
    EXPECT_EQ(wnd.m_hWnd, GetWindow(hTip, GW_OWNER));
    // The whole-window tool plus the hit tool, with the text copied into the control.
    EXPECT_EQ(2, (int)SendMessageA(hTip, TTM_GETTOOLCOUNT, 0, 0));
    EXPECT_EQ("left" + std::string(11, 'x'), ToolText(hTip, wnd.m_hWnd, 1));
    EXPECT_EQ(&wnd, pState->m_pLastHit);
    EXPECT_EQ(1, pState->m_nLastHit);

    // Moving to another tool replaces the old one.
    msg = MouseMove(wnd, 80, 10);
    wnd.PreTranslateMessage(&msg);
    EXPECT_EQ(2, (int)SendMessageA(hTip, TTM_GETTOOLCOUNT, 0, 0));
    EXPECT_EQ("rght" + std::string(11, 'x'), ToolText(hTip, wnd.m_hWnd, 2));
    EXPECT_EQ(2, pState->m_nLastHit);

    // Every hit test hands over a fresh block: a relay that kept them would grow by
    // about 200 MB over this loop.
    wnd.textSize = 100 * 1024;
    PROCESS_MEMORY_COUNTERS before = {}, after = {};
    GetProcessMemoryInfo(GetCurrentProcess(), &before, sizeof(before));
    for (int i = 0; i < 2000; i++) {
        msg = MouseMove(wnd, (i & 1) ? 10 : 80, 20);
        wnd.FilterToolTipMessage(&msg);
    }
    GetProcessMemoryInfo(GetCurrentProcess(), &after, sizeof(after));
    EXPECT_LT(after.PagefileUsage, before.PagefileUsage + 64u * 1024 * 1024);

    // A callback marker is the control's business, never freed.
    wnd.callback = true;
    msg = MouseMove(wnd, 10, 50);
    wnd.FilterToolTipMessage(&msg);
    msg = MouseMove(wnd, 80, 50);
    wnd.FilterToolTipMessage(&msg);

    // A window under another top-level window gets a control of its own, with its
    // tool registered there from the first move.
    {
        CTipWnd second;
        ASSERT_TRUE(second.CreateEx(0, PopupClass(), "second", WS_POPUP, CRect(0, 0, 100, 100), NULL, 0));
        second.EnableToolTips(TRUE);
        second.callback = true;
        msg = MouseMove(second, 10, 10);
        second.PreTranslateMessage(&msg);
        HWND hTip2 = pState->m_pToolTip->m_hWnd;
        EXPECT_EQ(second.m_hWnd, GetWindow(hTip2, GW_OWNER));
        EXPECT_FALSE(IsWindow(hTip));
        EXPECT_EQ(2, (int)SendMessageA(hTip2, TTM_GETTOOLCOUNT, 0, 0));
        second.DestroyWindow();
        // Back over the first window: made again for it, the hit tool registered.
        msg = MouseMove(wnd, 10, 10);
        wnd.PreTranslateMessage(&msg);
        hTip = pState->m_pToolTip->m_hWnd;
        EXPECT_EQ(wnd.m_hWnd, GetWindow(hTip, GW_OWNER));
        EXPECT_EQ(2, (int)SendMessageA(hTip, TTM_GETTOOLCOUNT, 0, 0));
    }

    // Disabling stops the relay.
    EXPECT_TRUE(wnd.EnableToolTips(FALSE));
    int hits = wnd.hits;
    msg = MouseMove(wnd, 10, 10);
    wnd.PreTranslateMessage(&msg);
    EXPECT_EQ(hits, wnd.hits);
    wnd.DestroyWindow();
    EXPECT_TRUE(pState->m_pLastHit == NULL);
}

TEST(WndToolTips, TheDefaultHitTestNamesTheChildUnderThePoint) {
    CWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, PopupClass(), "tips", WS_POPUP, CRect(0, 0, 200, 100), NULL, 0));
    HINSTANCE hInst = GetModuleHandleA(NULL);
    // A template's static text (id 0xFFFF), a child whose id is -1, a disabled button
    // and an edit, side by side.
    HWND hStatic = CreateWindowExA(0, "STATIC", "s", WS_CHILD | WS_VISIBLE, 0, 0, 40, 40, wnd.m_hWnd,
                                   (HMENU)0xFFFF, hInst, NULL);
    HWND hNoId = CreateWindowExA(0, "STATIC", "n", WS_CHILD | WS_VISIBLE, 50, 0, 40, 40, wnd.m_hWnd,
                                 (HMENU)(INT_PTR)-1, hInst, NULL);
    HWND hButton = CreateWindowExA(0, "BUTTON", "b", WS_CHILD | WS_VISIBLE | WS_DISABLED, 100, 0, 40, 40,
                                   wnd.m_hWnd, (HMENU)42, hInst, NULL);
    HWND hEdit = CreateWindowExA(0, "EDIT", "e", WS_CHILD | WS_VISIBLE, 150, 0, 40, 40, wnd.m_hWnd, (HMENU)43,
                                 hInst, NULL);
    ASSERT_TRUE(hStatic && hNoId && hButton && hEdit);

    struct Case {
        int x;
        INT_PTR hit;
        HWND tool;
        UINT flags;
    } cases[] = {
        {10, -1, NULL, 0},
        {60, -1, hNoId, TTF_IDISHWND | TTF_NOTBUTTON | TTF_CENTERTIP},
        {110, 42, hButton, TTF_IDISHWND},
        {160, 43, hEdit, TTF_IDISHWND | TTF_NOTBUTTON | TTF_CENTERTIP},
        {195, -1, NULL, 0},
    };
    for (const Case& c : cases) {
        TOOLINFOA ti = {};
        ti.cbSize = AFX_OLDTOOLINFO_SIZE;
        EXPECT_EQ(c.hit, wnd.OnToolHitTest(CPoint(c.x, 20), &ti)) << "x=" << c.x;
        EXPECT_EQ((UINT_PTR)c.tool, ti.uId) << "x=" << c.x;
        EXPECT_EQ(c.flags, ti.uFlags) << "x=" << c.x;
        if (c.tool != NULL) {
            EXPECT_EQ(wnd.m_hWnd, ti.hwnd) << "x=" << c.x;
            EXPECT_EQ(LPSTR_TEXTCALLBACKA, ti.lpszText) << "x=" << c.x;
        }
    }
    wnd.DestroyWindow();
}
