// Tab windows of the docking code that the tab painting tells apart by type: the tab
// strip of a tabbed control bar and the auto-hide area. The control-bars subsystem
// completes them.
#pragma once
#include "toolkit/dialogs/tab_wnd.h"

class CExtDynTabWnd : public CExtTabWnd
{
    DECLARE_DYNAMIC(CExtDynTabWnd)
public:
    CExtDynTabWnd();
    virtual ~CExtDynTabWnd();
};

class CExtDynAutoHideArea : public CExtTabWnd
{
    DECLARE_DYNAMIC(CExtDynAutoHideArea)
public:
    CExtDynAutoHideArea();
    virtual ~CExtDynAutoHideArea();
};
