#include "app/tree_ctrl.h"
#include "toolkit/dialogs/memory_dc.h"

IMPLEMENT_DYNAMIC(CExtTreeCtrl, CTreeCtrl)

BEGIN_MESSAGE_MAP(CExtTreeCtrl, CTreeCtrl)
    ON_WM_NCPAINT()
END_MESSAGE_MAP()

CExtTreeCtrl::CExtTreeCtrl() { RegisterWithHolder(); }

CExtTreeCtrl::~CExtTreeCtrl() { UnregisterFromHolder(); }

void CExtTreeCtrl::RegisterWithHolder() { g_CurrentPaintManager.RegisterBridge(this); }
void CExtTreeCtrl::UnregisterFromHolder() { g_CurrentPaintManager.UnregisterBridge(this); }
HWND CExtTreeCtrl::GetBridgeHwnd() { return GetSafeHwnd(); }
CExtPaintManager* CExtTreeCtrl::GetPaintManager() { return g_CurrentPaintManager.GetPM(); }

void CExtTreeCtrl::OnNcPaint()
{
    // The scroll bars live in the non-client area: the system paints them.
    if (GetStyle() & (WS_VSCROLL | WS_HSCROLL)) Default();
    CWindowDC dc(this);
    // The whole border, not the clip box: a clip box ends where a neighbour or the
    // parent cuts the window, and the frame would be drawn there. The border in a dialog
    // is the two-pixel client edge; the one-pixel frame leaves its inner ring, which
    // takes the tree's background so no pixels of an earlier size or place stay in it.
    CRect rcWindow, rcInner;
    GetWindowRect(&rcWindow);
    GetClientRect(&rcInner);
    ClientToScreen(&rcInner);
    rcInner.OffsetRect(-rcWindow.left, -rcWindow.top);
    rcWindow.OffsetRect(-rcWindow.left, -rcWindow.top);
    if (GetStyle() & WS_VSCROLL) rcInner.right += ::GetSystemMetrics(SM_CXVSCROLL);
    if (GetStyle() & WS_HSCROLL) rcInner.bottom += ::GetSystemMetrics(SM_CYHSCROLL);
    COLORREF clrBack = (COLORREF)SendMessage(TVM_GETBKCOLOR, 0, 0);
    if (clrBack == CLR_NONE) clrBack = ::GetSysColor(COLOR_WINDOW);
    int nSaved = dc.SaveDC();
    dc.ExcludeClipRect(&rcInner);
    dc.FillSolidRect(&rcWindow, clrBack);
    dc.RestoreDC(nSaved);
    CExtPaintManager* pPM = GetPaintManager();
    if (pPM != NULL) pPM->DrawSimpleFrame(dc, rcWindow, this);
}

LRESULT CExtTreeCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_ERASEBKGND:
        return 0;
    case WM_PAINT: {
        CPaintDC dc(this);
        CExtPaintManager::ClipOutChildren(&dc, m_hWnd);
        CRect rcClient;
        GetClientRect(&rcClient);
        {
            CExtMemoryDC dcBuffer(&dc, &rcClient, 0x03);
            DefWindowProc(WM_ERASEBKGND, (WPARAM)dcBuffer.m_hDC, 0);
            DefWindowProc(WM_PAINT, (WPARAM)dcBuffer.m_hDC, 0);
        }
        return 1;
    }
    default:
        break;
    }
    return CTreeCtrl::WindowProc(message, wParam, lParam);
}
