#include "toolkit/bars/control_bar.h"
#include "toolkit/theme/paint_manager.h"

IMPLEMENT_DYNAMIC(CExtBarColorButton, CExtBarButton)
IMPLEMENT_DYNCREATE(CExtMiniDockFrameWnd, CMiniDockFrameWnd)
IMPLEMENT_DYNAMIC(CExtDynDockMarkerWnd, CWnd)


CExtBarColorButton::CExtBarColorButton(CExtControlBar* pBar) : CExtBarButton(pBar) {}
CExtBarColorButton::~CExtBarColorButton() {}

CExtMiniDockFrameWnd::CExtMiniDockFrameWnd() {}
CExtMiniDockFrameWnd::~CExtMiniDockFrameWnd() {}

CExtControlBar* CExtMiniDockFrameWnd::GetControlBar()
{
    // The first toolkit bar of the floating dock bar's rows.
    const CPtrArray& arr = m_wndDockBar.m_arrBars;
    for (INT_PTR i = 0; i < arr.GetSize(); i++)
    {
        void* p = arr[i];
        if (p == NULL || reinterpret_cast<UINT_PTR>(p) < 0x10000)
            continue;
        CExtControlBar* pBar = DYNAMIC_DOWNCAST(CExtControlBar, reinterpret_cast<CControlBar*>(p));
        if (pBar != NULL)
            return pBar;
    }
    return NULL;
}

CExtDynDockMarkerWnd::~CExtDynDockMarkerWnd() {}

#include "toolkit/theme/pm_small_controls.h"
#include "toolkit/theme/pm_dock_markers.h"

namespace {

// The theme reads bar buttons and dock-marker windows through these functions, since it
// is linked before the bars.
struct BarPaintQueriesRegistration
{
    BarPaintQueriesRegistration()
    {
        CExtPmSmallControlQueries::Queries& q = CExtPmSmallControlQueries::g_queries;
        q.pfnBarButtonRect = [](CObject* p, RECT& rc) {
            CExtBarButton* pTBB = DYNAMIC_DOWNCAST(CExtBarButton, p);
            if (pTBB == NULL)
                return false;
            rc = pTBB->Rect();
            return true;
        };
        q.pfnBarButtonNoDockFrame = [](CObject* p) {
            CExtBarButton* pTBB = DYNAMIC_DOWNCAST(CExtBarButton, p);
            return pTBB != NULL && pTBB->IsNoVerticalDockFrame();
        };
        CExtPmDockMarkerHooks::g_hooks.pfnMarkerState = [](CObject* p, int& nKind, bool& bStandAlone,
                                                          HWND& hWndLinked) {
            CExtDynDockMarkerWnd* pMarker = DYNAMIC_DOWNCAST(CExtDynDockMarkerWnd, p);
            if (pMarker == NULL)
                return false;
            nKind = pMarker->m_nKind;
            bStandAlone = pMarker->m_bStandAloneOuter;
            hWndLinked = pMarker->m_hWndLinkedMarker;
            return true;
        };
    }
};

const BarPaintQueriesRegistration g_BarPaintQueriesRegistration;

}  // namespace
