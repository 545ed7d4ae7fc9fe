#include "toolkit/reportgrid/report_drag_loop.h"
#include "toolkit/grid/content_expand_wnd.h"
#include "toolkit/theme/paint_manager.h"

namespace ReportDragLoop {

e_step_t Classify(const MSG& msg, HWND hWnd)
{
    const UINT nMsg = msg.message;
    switch (nMsg)
    {
    case WM_MOUSEMOVE:
        return msg.hwnd == hWnd ? STEP_MOVE : STEP_PUMP;
    case WM_LBUTTONUP:
        return STEP_DROP;
    case WM_CANCELMODE:
    case WM_ACTIVATEAPP:
    case WM_SETTINGCHANGE:
    case WM_SYSCOLORCHANGE:
    case WM_CONTEXTMENU:
    case WM_SYSCOMMAND:
    case WM_CAPTURECHANGED:
        return STEP_CANCEL;
    case WM_KILLFOCUS:
        return msg.hwnd == hWnd ? STEP_CANCEL : STEP_PUMP;
    case WM_COMMAND:
        // Menu and accelerator commands; control notifications pass.
        return (HIWORD(msg.wParam) == 0 || HIWORD(msg.wParam) == 1) ? STEP_CANCEL : STEP_PUMP;
    default:
        break;
    }
    if (nMsg >= WM_NCMOUSEMOVE && nMsg <= WM_NCMBUTTONDBLCLK)
        return STEP_CANCEL;
    if (nMsg >= WM_LBUTTONDOWN && nMsg <= WM_MOUSELAST && nMsg != WM_MOUSEWHEEL)
        return STEP_CANCEL;
    if (nMsg >= WM_KEYFIRST && nMsg <= WM_KEYLAST)
    {
        if ((nMsg == WM_KEYDOWN || nMsg == WM_KEYUP) && (msg.wParam == VK_SHIFT || msg.wParam == VK_CONTROL))
            return STEP_REFRESH;
        return STEP_CANCEL;
    }
    return STEP_PUMP;
}

void Remove(const MSG& msg)
{
    MSG msgTaken;
    ::PeekMessage(&msgTaken, msg.hwnd, msg.message, msg.message, PM_REMOVE);
}

bool PumpOne()
{
    MSG msg;
    if (!::PeekMessage(&msg, NULL, 0, 0, PM_REMOVE))
        return true;
    if (msg.message == WM_QUIT)
    {
        // The quit belongs to the outer loop.
        ::PostQuitMessage((int)msg.wParam);
        return false;
    }
    ::TranslateMessage(&msg);
    ::DispatchMessage(&msg);
    return true;
}

void IdleWait(bool& bIdle)
{
    CWinThread* pThread = ::AfxGetThread();
    if (bIdle && pThread != NULL)
    {
        // Idle steps run once per empty queue, until they have no more work.
        for (LONG nCount = 0; pThread->OnIdle(nCount) && nCount < 1000; nCount++)
        {
        }
    }
    bIdle = false;
    ::WaitMessage();
}

bool PeekNext(MSG& msg, bool& bIdle)
{
    if (!::PeekMessage(&msg, NULL, 0, 0, PM_NOREMOVE))
    {
        IdleWait(bIdle);
        return false;
    }
    bIdle = true;
    return true;
}

CPoint TakeDropPoint(const MSG& msg, HWND hWnd)
{
    CPoint pt(GET_X_LPARAM(msg.lParam), GET_Y_LPARAM(msg.lParam));
    if (msg.hwnd != NULL)
        ::ClientToScreen(msg.hwnd, &pt);
    if (msg.hwnd == hWnd)
        Remove(msg);
    return pt;
}

void ShowDropFeedback(CExtContentExpandWnd& wndMarker, CExtContentExpandWnd& wndImage, const RECT& rcMarker,
                      CWnd* pOwner, HCURSOR hCursor)
{
    if (pOwner != NULL)
    {
        wndMarker.Activate(rcMarker, pOwner, 0x3EFF11F);
        if (wndMarker.GetSafeHwnd() != NULL && wndImage.GetSafeHwnd() != NULL)
            ::SetWindowPos(wndMarker.GetSafeHwnd(), wndImage.GetSafeHwnd(), 0, 0, 0, 0,
                           SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
    }
    else
        wndMarker.Deactivate();
    ::SetCursor(hCursor);
    if (wndImage.GetSafeHwnd() != NULL)
        ::RedrawWindow(wndImage.GetSafeHwnd(), NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW);
    CExtPaintManager::PumpPaintMessages();
}

}  // namespace ReportDragLoop
