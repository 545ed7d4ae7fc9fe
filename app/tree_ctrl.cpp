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
    CRect rcClip;
    dc.GetClipBox(&rcClip);
    CExtPaintManager* pPM = GetPaintManager();
    if (pPM != NULL) pPM->DrawSimpleFrame(dc, rcClip, this);
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
