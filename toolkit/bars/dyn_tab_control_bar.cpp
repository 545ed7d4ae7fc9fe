#include "toolkit/bars/dyn_tab_control_bar.h"
#include "toolkit/theme/paint_manager.h"

IMPLEMENT_DYNAMIC(CExtDynTabControlBar, CExtControlBar)

int CExtDynTabControlBar::g_nTabSetting = -1;

CExtDynTabControlBar::CExtDynTabControlBar() {}
CExtDynTabControlBar::~CExtDynTabControlBar() {}

int CExtDynTabControlBar::GetTabSetting()
{
    if (g_nTabSetting != -1)
        return g_nTabSetting;
    return g_CurrentPaintManager->QueryTabSettingDefault();
}

DWORD CExtDynTabControlBar::AdjustTabWndStyle(DWORD dwTabWndStyle)
{
    if (GetTabSetting() == 1)
        dwTabWndStyle |= __TAB_SETTING_STYLE_BIT;
    return dwTabWndStyle;
}
