// CExtMenuControlBar: the menu bar, a toolbar whose buttons open popup menus.
//
// control_bar.h includes this header where the class belongs among the bars, so the
// include comes before the guard: whichever header a file names first, the class is
// declared in the family's order.
#include "toolkit/bars/control_bar.h"

#ifndef TOOLKIT_BARS_MENU_BAR_H_INCLUDED
#define TOOLKIT_BARS_MENU_BAR_H_INCLUDED

class CExtMenuControlBar : public CExtToolControlBar
{
    DECLARE_DYNAMIC(CExtMenuControlBar)
public:
    CExtMenuControlBar();
    virtual ~CExtMenuControlBar();
};

#endif
