// The tab strip of a tabbed control bar, which the tab painting tells apart by type (the
// auto-hide area lives in auto_hide.h). The control-bars subsystem completes it.
#pragma once
#include "toolkit/dialogs/tab_wnd.h"

class CExtDynTabWnd : public CExtTabWnd
{
    DECLARE_DYNAMIC(CExtDynTabWnd)
public:
    CExtDynTabWnd();
    virtual ~CExtDynTabWnd();
};
