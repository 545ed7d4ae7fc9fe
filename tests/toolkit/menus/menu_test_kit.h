// Shared pieces of the menu tests: a receiver window, menus tracked at once without
// shadow or command-UI update, item points, and reading the screen.
#pragma once
#include <gtest/gtest.h>

#include "framework/framework.h"
#include "support/message_pump.h"
#include "toolkit/menus/popup_menu_wnd.h"
#include "toolkit/theme/paint_manager.h"

namespace menukit {

typedef CExtPopupMenuWnd::MENUITEMDATA MID;
const UINT kQuick =
    CExtPopupMenuWnd::TMF_NO_CMD_UI | CExtPopupMenuWnd::TMF_NO_ANIMATION | CExtPopupMenuWnd::TMF_NO_SHADOW;

// A test with a receiver window (of class sClass, a static when NULL) in the XP theme;
// any menu still tracking is ended after the test.
class ReceiverTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        g_CurrentPaintManager.InstallPaintManagerByClass(RUNTIME_CLASS(CExtPaintManagerXP));
        m_hWndRecv = ::CreateWindowA(ReceiverClass(), "", WS_POPUP, 0, 0, 10, 10, NULL, NULL, NULL, NULL);
    }
    void TearDown() override
    {
        CExtPopupMenuWnd::CancelMenuTracking();
        testsupport::PumpPending();
        ::DestroyWindow(m_hWndRecv);
        g_CurrentPaintManager.InstallPaintManagerByClass(RUNTIME_CLASS(CExtPaintManagerXP));
    }
    virtual const char* ReceiverClass() { return "STATIC"; }
    CExtPopupMenuWnd* NewMenu()
    {
        CExtPopupMenuWnd* pMenu = new CExtPopupMenuWnd;
        EXPECT_TRUE(pMenu->CreatePopupMenu(m_hWndRecv));
        return pMenu;
    }
    HWND m_hWndRecv = NULL;
};

inline CPoint ItemCentre(CExtPopupMenuWnd* pMenu, int nItem)
{
    CRect rc;
    pMenu->GetItemRect(nItem, rc, true);
    return rc.CenterPoint();
}

// The pointer goes to a client point of the menu, as the mouse hook hands it on.
inline bool MoveTo(CExtPopupMenuWnd* pMenu, const CPoint& ptClient)
{
    CPoint pt(ptClient);
    pMenu->ClientToScreen(&pt);
    ::SetCursorPos(pt.x, pt.y);
    bool bNoEat = false;
    return pMenu->OnMouseMoveTracked(WM_MOUSEMOVE, ptClient, bNoEat);
}

inline bool Click(CExtPopupMenuWnd* pMenu, UINT nMsg, const CPoint& ptClient)
{
    bool bNoEat = false;
    return pMenu->OnMouseClickTracked(nMsg, ptClient, bNoEat);
}

// A pixel of the screen, read back with BitBlt.
inline COLORREF ScreenPixel(int x, int y)
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

}  // namespace menukit
