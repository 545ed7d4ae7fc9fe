// The tabbed group of dynamic bars.
#include "toolkit/bars/dyn_tab_control_bar.h"
#include "toolkit/bars/dynamic_bar.h"

IMPLEMENT_DYNCREATE(CExtDynamicTabbedControlBar, CExtDynTabControlBar)

CExtDynamicTabbedControlBar::CExtDynamicTabbedControlBar() : m_dwDynamicReserved(0) {}

CExtDynamicTabbedControlBar::~CExtDynamicTabbedControlBar() {}

bool CExtDynamicTabbedControlBar::OnQueryTabMate(const CExtControlBar* pBar) const
{
    // A floating, document or auto-hidden dynamic bar cannot become a page.
    const CExtDynamicControlBar* pDynamic = DYNAMIC_DOWNCAST(CExtDynamicControlBar, const_cast<CExtControlBar*>(pBar));
    return pDynamic == NULL || pDynamic->GetBarState() == CExtDynamicControlBar::__EDBS_DOCKED;
}

void CExtDynamicTabbedControlBar::CreateNcAreaButtons()
{
    if (m_vNcAreaButtons.GetSize() > 0)
        return;
    m_vNcAreaButtons.Add(new CExtDynamicBarNcAreaButtonClose(this));
    m_vNcAreaButtons.Add(new CExtDynamicBarNcAreaButtonAutoHide(this));
    m_vNcAreaButtons.Add(new CExtDynamicBarNcAreaButtonMenu(this));
}
