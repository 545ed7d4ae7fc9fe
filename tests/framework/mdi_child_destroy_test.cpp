// An MDI child frame that is closed or destroyed leaves through its MDI client's
// WM_MDIDESTROY, as the classic child frame does.
#include <gtest/gtest.h>
#include <vector>
#include "framework/framework.h"

namespace {

WNDPROC g_pfnClientProc = NULL;
std::vector<HWND> g_destroyed;

LRESULT CALLBACK RecordingClientProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    if (nMsg == WM_MDIDESTROY)
        g_destroyed.push_back((HWND)wParam);
    return ::CallWindowProc(g_pfnClientProc, hWnd, nMsg, wParam, lParam);
}

}  // namespace

TEST(MdiChildDestroy, ClosingAChildGoesThroughTheClient)
{
    CMDIFrameWnd* pFrame = new CMDIFrameWnd;
    ASSERT_TRUE(pFrame->Create(NULL, "MDI", WS_OVERLAPPEDWINDOW, CRect(0, 0, 500, 300)));
    g_pfnClientProc = (WNDPROC)::SetWindowLongPtr(pFrame->m_hWndMDIClient, GWLP_WNDPROC,
                                                  (LONG_PTR)RecordingClientProc);
    g_destroyed.clear();
    struct Case
    {
        const char* sName;
        bool bByClose;
    } const kCases[] = {{"WM_CLOSE", true}, {"DestroyWindow", false}};
    for (const Case& c : kCases)
    {
        SCOPED_TRACE(c.sName);
        CMDIChildWnd* pChild = new CMDIChildWnd;
        ASSERT_TRUE(pChild->Create(NULL, "A", WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW, CRect(0, 0, 100, 80),
                                   pFrame));
        const HWND hWnd = pChild->m_hWnd;
        g_destroyed.clear();
        if (c.bByClose)
            ::SendMessage(hWnd, WM_CLOSE, 0, 0);
        else
            pChild->DestroyWindow();
        EXPECT_FALSE(::IsWindow(hWnd));
        EXPECT_EQ(std::vector<HWND>{hWnd}, g_destroyed);
    }
    ::SetWindowLongPtr(pFrame->m_hWndMDIClient, GWLP_WNDPROC, (LONG_PTR)g_pfnClientProc);
    pFrame->DestroyWindow();
}
