// The tabbed control bar as the theme engine meets it: its run-time class and the tab
// setting that chooses the style of its tab strip. The control-bars subsystem completes
// the class.
#pragma once
#include "toolkit/bars/control_bar.h"

class CExtDynTabControlBar : public CExtControlBar
{
    DECLARE_DYNAMIC(CExtDynTabControlBar)
public:
    enum
    {
        // The tab window style bit that the tab setting 1 turns on.
        __TAB_SETTING_STYLE_BIT = 0x200000,
    };

    CExtDynTabControlBar();
    virtual ~CExtDynTabControlBar();

    // -1 until the application sets it; then the current theme's default applies.
    static int g_nTabSetting;
    // The tab setting in force: the application's, else the current theme's default.
    static int GetTabSetting();
    // The style of the bar's tab window: the setting 1 sets the style bit, any other
    // setting leaves the style as it is.
    static DWORD AdjustTabWndStyle(DWORD dwTabWndStyle);
};
