// CExtStatusControlBar: the toolkit's status bar, a control bar with panes.
//
// control_bar.h includes this header where the class belongs among the bars, so the
// include comes before the guard: whichever header a file names first, the class is
// declared in the family's order.
#include "toolkit/bars/control_bar.h"

#ifndef TOOLKIT_BARS_STATUS_BAR_H_INCLUDED
#define TOOLKIT_BARS_STATUS_BAR_H_INCLUDED

class CExtStatusControlBar : public CExtControlBar
{
    DECLARE_DYNAMIC(CExtStatusControlBar)
public:
    CExtStatusControlBar();
    virtual ~CExtStatusControlBar();
};

#endif
