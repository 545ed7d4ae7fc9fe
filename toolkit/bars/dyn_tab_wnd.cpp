#include "toolkit/bars/dyn_tab_wnd.h"

IMPLEMENT_DYNAMIC(CExtDynTabWnd, CExtTabWnd)
IMPLEMENT_DYNAMIC(CExtDynAutoHideArea, CExtTabWnd)

CExtDynTabWnd::CExtDynTabWnd() {}
CExtDynTabWnd::~CExtDynTabWnd() {}

CExtDynAutoHideArea::CExtDynAutoHideArea() {}
CExtDynAutoHideArea::~CExtDynAutoHideArea() {}
