#include "toolkit/bars/control_bar.h"
#include "toolkit/theme/paint_manager.h"

IMPLEMENT_DYNAMIC(CExtControlBar, CWnd)
IMPLEMENT_DYNAMIC(CExtDockOuterBar, CWnd)
IMPLEMENT_DYNAMIC(CExtStatusControlBar, CExtControlBar)
IMPLEMENT_DYNAMIC(CExtToolControlBar, CExtControlBar)
IMPLEMENT_DYNAMIC(CExtMenuControlBar, CExtToolControlBar)
IMPLEMENT_DYNAMIC(CExtBarButton, CObject)
IMPLEMENT_DYNAMIC(CExtBarColorButton, CExtBarButton)
IMPLEMENT_DYNAMIC(CExtBarNcAreaButton, CObject)
IMPLEMENT_DYNAMIC(CExtBarNcAreaButtonMenu, CExtBarNcAreaButton)
IMPLEMENT_DYNAMIC(CExtMiniDockFrameWnd, CWnd)
IMPLEMENT_DYNAMIC(CExtDynDockMarkerWnd, CWnd)

int CExtControlBar::g_nBarSetting = -1;

int CExtControlBar::GetBarSetting()
{
    if (g_nBarSetting != -1)
        return g_nBarSetting;
    return g_CurrentPaintManager->QueryBarSettingDefault();
}

CExtControlBar::CExtControlBar()
    : m_dwStyle(0), m_pDockSite(NULL), m_pDockBar(NULL), m_nOptionFlags(0), m_dwOptionFlags2(0)
{
}

CExtControlBar::~CExtControlBar() {}

bool CExtControlBar::IsFixedMode() const { return false; }

bool CExtControlBar::IsDockedVertically() const
{
    if (m_pDockSite == NULL || m_pDockBar == NULL)
        return (m_dwStyle & 0x5500) != 0;
    const int nID = ::GetDlgCtrlID(m_pDockBar->GetSafeHwnd());
    return nID == __DOCKBAR_ID_LEFT || nID == __DOCKBAR_ID_RIGHT;
}

bool CExtControlBar::IsDockedHorizontally() const
{
    if (m_pDockSite == NULL || m_pDockBar == NULL)
        return (m_dwStyle & 0xAA00) != 0;
    const int nID = ::GetDlgCtrlID(m_pDockBar->GetSafeHwnd());
    return nID == __DOCKBAR_ID_TOP || nID == __DOCKBAR_ID_BOTTOM;
}

bool CExtControlBar::IsDockedAtFrameSide() const
{
    if (m_pDockSite == NULL)
        return true;
    if (m_pDockBar == NULL)
        return false;
    const int nID = ::GetDlgCtrlID(m_pDockBar->GetSafeHwnd());
    return nID >= __DOCKBAR_ID_TOP && nID <= __DOCKBAR_ID_BOTTOM;
}

bool CExtControlBar::IsFloating() const
{
    if (IsDockedAtFrameSide())
        return false;
    return m_hWnd != NULL && ::GetParent(m_hWnd) != NULL;
}

CExtDockOuterBar::CExtDockOuterBar() {}
CExtDockOuterBar::~CExtDockOuterBar() {}

CExtStatusControlBar::CExtStatusControlBar() {}
CExtStatusControlBar::~CExtStatusControlBar() {}

CExtToolControlBar::CExtToolControlBar() : m_nBtnIdxMenuTracking(-1) {}
CExtToolControlBar::~CExtToolControlBar() {}
bool CExtToolControlBar::IsFixedMode() const { return true; }
int CExtToolControlBar::OnQueryShape(int, int) { return 1; }

CExtToolControlBar::ChildBkgndInfo_t::ChildBkgndInfo_t()
    : m_pBar(NULL), m_pMiniFrame(NULL), m_hWndChild(NULL)
{
}

CExtToolControlBar::ChildBkgndInfo_t::~ChildBkgndInfo_t()
{
    m_arrRects.RemoveAll();
    m_arrValues.RemoveAll();
}

CExtMenuControlBar::CExtMenuControlBar() {}
CExtMenuControlBar::~CExtMenuControlBar() {}

CExtBarButton::CExtBarButton(CExtControlBar* pBar) : m_pBar(pBar), m_rc(0, 0, 0, 0) {}
CExtBarButton::~CExtBarButton() {}
CRect CExtBarButton::Rect() const { return m_rc; }
bool CExtBarButton::IsNoVerticalDockFrame() const { return false; }

CExtBarColorButton::CExtBarColorButton(CExtControlBar* pBar) : CExtBarButton(pBar) {}
CExtBarColorButton::~CExtBarColorButton() {}

CExtBarNcAreaButton::CExtBarNcAreaButton() {}
CExtBarNcAreaButton::~CExtBarNcAreaButton() {}

CExtBarNcAreaButtonMenu::CExtBarNcAreaButtonMenu() {}
CExtBarNcAreaButtonMenu::~CExtBarNcAreaButtonMenu() {}
bool CExtBarNcAreaButtonMenu::OnQueryXpLook() const { return false; }

CExtMiniDockFrameWnd::CExtMiniDockFrameWnd() {}
CExtMiniDockFrameWnd::~CExtMiniDockFrameWnd() {}

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
