#include <gtest/gtest.h>
#include <vector>
#include "framework/framework.h"
#include "toolkit/grid/content_expand_wnd.h"
#include "support/message_pump.h"
#include "support/msg_recorder.h"

namespace {

const COLORREF kItemColor = RGB(10, 200, 30);
int g_nPaintRequests = 0;
std::vector<std::pair<UINT, LPARAM>> g_ownerMouse;

LRESULT CALLBACK OwnerProc(HWND h, UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == CExtContentExpandWnd::g_nMsgPaintItemContent)
    {
        g_nPaintRequests++;
        auto* pInfo = (CExtContentExpandWnd::ITEM_PAINT_INFO*)wp;
        pInfo->m_dc.FillSolidRect(&pInfo->m_rcItem, kItemColor);
        return 1;
    }
    if (msg >= WM_MOUSEFIRST && msg <= WM_MOUSELAST && msg != WM_MOUSEMOVE)
        g_ownerMouse.push_back({msg, lp});
    return ::DefWindowProcA(h, msg, wp, lp);
}

struct ContentExpandTest : testing::Test
{
    HWND m_hOwner = NULL;
    void SetUp() override
    {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = OwnerProc;
        wc.hInstance = ::GetModuleHandle(NULL);
        wc.lpszClassName = "ContentExpandTestOwner";
        ::RegisterClassA(&wc);
        m_hOwner = ::CreateWindowExA(0, "ContentExpandTestOwner", "", WS_POPUP | WS_VISIBLE, 200, 150, 300, 200,
                                     NULL, NULL, NULL, NULL);
        g_nPaintRequests = 0;
        g_ownerMouse.clear();
        testsupport::PumpPending();
    }
    void TearDown() override { ::DestroyWindow(m_hOwner); }
    CWnd* Owner() { return CWnd::FromHandle(m_hOwner); }
};

COLORREF ScreenPixel(int x, int y)
{
    HDC hdc = ::GetDC(NULL);
    const COLORREF clr = ::GetPixel(hdc, x, y);
    ::ReleaseDC(NULL, hdc);
    return clr;
}

class RecordingTarget : public COleDropTarget
{
public:
    CWnd* m_pWndSeen = NULL;
    CPoint m_ptSeen;
    DROPEFFECT OnDropEx(CWnd* pWnd, COleDataObject*, DROPEFFECT, DROPEFFECT, CPoint point) override
    {
        m_pWndSeen = pWnd;
        m_ptSeen = point;
        return DROPEFFECT_COPY;
    }
};

}  // namespace

// The popup's window region is the item plus its decorations, painted red, with the
// owner painting the item at its own place on the screen.
TEST_F(ContentExpandTest, ShapeMarginsAndColours)
{
    const struct
    {
        DWORD flags;
        int margin;
        POINT inFrame;   // popup-client point inside the decoration
        POINT outFrame;  // popup-client point in the margin but outside every decoration
    } cases[] = {
        {0x40 | 0x80, 2, {2 + 3, 1}, {2 + 8, 0}},
        {0x40 | 0x100, 12, {10, 10}, {1, 1}},
    };
    const RECT rcItem = {20, 30, 60, 46};
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.flags);
        CExtContentExpandWnd wnd;
        ASSERT_TRUE(wnd.Activate(rcItem, Owner(), c.flags));
        testsupport::PumpPending();
        ::UpdateWindow(wnd.m_hWnd);
        EXPECT_EQ(CRect(200 + 20 - c.margin, 150 + 30 - c.margin, 200 + 60 + c.margin, 150 + 46 + c.margin),
                  wnd.m_rcWnd);
        EXPECT_EQ(CRect(c.margin, c.margin, c.margin + 40, c.margin + 16), wnd.m_rcItem);
        HRGN hRgn = ::CreateRectRgn(0, 0, 0, 0);
        ASSERT_NE(ERROR, ::GetWindowRgn(wnd.m_hWnd, hRgn));
        EXPECT_TRUE(::PtInRegion(hRgn, c.margin + 20, c.margin + 8)) << "the item";
        EXPECT_TRUE(::PtInRegion(hRgn, c.inFrame.x, c.inFrame.y)) << "a decoration";
        EXPECT_FALSE(::PtInRegion(hRgn, c.outFrame.x, c.outFrame.y)) << "margin without decoration";
        ::DeleteObject(hRgn);
        EXPECT_GE(g_nPaintRequests, 1);
        EXPECT_EQ(kItemColor, ScreenPixel(wnd.m_rcWnd.left + c.margin + 20, wnd.m_rcWnd.top + c.margin + 8));
        EXPECT_EQ(RGB(255, 0, 0), ScreenPixel(wnd.m_rcWnd.left + c.inFrame.x, wnd.m_rcWnd.top + c.inFrame.y));
        EXPECT_EQ(wnd.m_hWnd, ::GetCapture()) << "the popup holds the capture while shown";
        wnd.Deactivate();
        EXPECT_EQ(nullptr, wnd.m_hWnd);
        EXPECT_EQ(nullptr, wnd.m_pWndOwner);
        EXPECT_EQ(0x4Fu, wnd.m_dwActivateFlags);
    }
}

TEST_F(ContentExpandTest, EmptyItemIsNotSentToTheOwner)
{
    CExtContentExpandWnd wnd;
    ASSERT_TRUE(wnd.Activate(CRect(20, 30, 20, 46), Owner(), 0x40 | 0x80 | 0x2000));
    testsupport::PumpPending();
    ::UpdateWindow(wnd.m_hWnd);
    EXPECT_EQ(0, g_nPaintRequests);
    EXPECT_NE(wnd.m_hWnd, ::GetCapture()) << "0x2000 leaves the capture alone";
    wnd.Deactivate();
}

// A click reaches the owner where the hand made it, in the owner's coordinates (a wheel
// at its point on the screen), wherever the pointer is by the time the popup takes it;
// with the default flags the popup goes down, with 0x200000 it stays. With 0x400000 the
// popup's own default handling takes the click as the popup was given it.
TEST_F(ContentExpandTest, ClicksPassToTheOwner)
{
    const struct
    {
        const char* what;
        DWORD flags;
        UINT msg;
        POINT pt;       // the message's point: in the popup's client area, a wheel's on the screen
        POINT ptOwner;  // the point the owner gets
        bool bStays, bContextMenu;
    } cases[] = {
        {"a press on the item", 0x4F, WM_LBUTTONDOWN, {5, 5}, {25, 35}, false, false},
        {"a press, the popup kept", 0x4F | 0x200000, WM_LBUTTONDOWN, {5, 5}, {25, 35}, true, false},
        {"a press left of and above the owner, under capture", 0x4F, WM_RBUTTONDOWN, {-30, -40}, {-10, -10}, false,
         false},
        {"a wheel", 0x4F, WM_MOUSEWHEEL, {200 + 25, 150 + 35}, {225, 185}, false, false},
        {"a right release, also the default", 0x4F | 0x10000 | 0x200000 | 0x400000, WM_RBUTTONUP, {5, 5}, {25, 35},
         true, true},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.what);
        g_ownerMouse.clear();
        CExtContentExpandWnd wnd;
        ASSERT_TRUE(wnd.Activate(CRect(20, 30, 60, 46), Owner(), c.flags));
        testsupport::MsgRecorder rec;
        rec.Only({WM_CONTEXTMENU});
        rec.Watch(wnd.m_hWnd);
        rec.HookThread();
        // The pointer has gone elsewhere by the time the popup takes the message.
        ::SetCursorPos(700, 600);
        ::PostMessage(wnd.m_hWnd, c.msg, c.msg == WM_MOUSEWHEEL ? MAKEWPARAM(0, WHEEL_DELTA) : 0,
                      MAKELPARAM(c.pt.x, c.pt.y));
        EXPECT_TRUE(testsupport::PumpUntilIdle([&] { return !g_ownerMouse.empty(); }));
        rec.Unhook();
        ASSERT_EQ(1u, g_ownerMouse.size());
        EXPECT_EQ(c.msg, g_ownerMouse[0].first);
        EXPECT_EQ(MAKELPARAM(c.ptOwner.x, c.ptOwner.y), g_ownerMouse[0].second);
        EXPECT_EQ(c.bStays, ::IsWindow(wnd.m_hWnd) != FALSE);
        ASSERT_EQ(c.bContextMenu ? 1u : 0u, rec.Records().size());
        if (c.bContextMenu)
            EXPECT_EQ(MAKELPARAM(200 + 25, 150 + 35), rec.Records()[0].lParam) << "on the screen, where it was made";
        wnd.Deactivate();
    }
}

TEST_F(ContentExpandTest, DropReachesTheOwnersTargetNamingTheRedirectWindow)
{
    ASSERT_TRUE(SUCCEEDED(::OleInitialize(NULL)));
    {
        RecordingTarget target;
        CExtContentExpandWnd wnd;
        ASSERT_TRUE(wnd.Activate(CRect(20, 30, 60, 46), Owner(), 0x40 | 0x2000, &target, Owner()));
        ASSERT_NE(nullptr, wnd.m_pDropTarget);
        EXPECT_EQ(wnd.m_hWnd, wnd.m_pDropTarget->m_hWnd) << "registered on the popup";
        DWORD dwEffect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
        POINTL pt = {200 + 25, 150 + 35};
        IDropTarget* pTarget = wnd.m_pDropTarget->GetDropTargetInterface();
        EXPECT_EQ(S_OK, pTarget->DragEnter(NULL, 0, pt, &dwEffect));
        dwEffect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
        EXPECT_EQ(S_OK, pTarget->Drop(NULL, 0, pt, &dwEffect));
        EXPECT_EQ(Owner(), target.m_pWndSeen);
        EXPECT_EQ(CPoint(25 - 20 + 0, 35 - 30), target.m_ptSeen) << "popup-client point of the drop";
        EXPECT_EQ((DWORD)DROPEFFECT_COPY, dwEffect);
        wnd.Deactivate();
        EXPECT_EQ(nullptr, wnd.m_pDropTarget);
    }
    ::OleUninitialize();
}
