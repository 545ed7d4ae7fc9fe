// Moving a bar into and out of the auto-hide area of its side.
#include "toolkit/bars/control_bar.h"
#include "toolkit/bars/dyn_tab_control_bar.h"
#include "toolkit/bars/dyn_tab_wnd.h"

bool CExtControlBar::AutoHideModeSet(bool bAutoHide, bool bAnimate, bool bRecalc, bool bForce)
{
    if (((bAutoHide || AutoHideModeGet()) && (IsFixedMode() || IsFixedDockStyle())) || IsFloating())
        return false;
    if (bAutoHide == AutoHideModeGet())
        return true;
    CExtDynTabControlBar* pGroup = GetTabbedContainer();
    if (pGroup != NULL)
        return pGroup->AutoHideModeSet(bAutoHide, bAnimate, bRecalc, bAutoHide ? true : bForce);
    CExtDockBar* pDock = DYNAMIC_DOWNCAST(CExtDockBar, m_pDockBar);
    return pDock != NULL && pDock->GetAutoHideArea() != NULL;
}
