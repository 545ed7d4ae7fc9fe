#include "toolkit/bars/dyn_tab_wnd.h"

IMPLEMENT_DYNAMIC(CExtDynTabWnd, CExtTabWnd)

CExtDynTabWnd::CExtDynTabWnd() {}
CExtDynTabWnd::~CExtDynTabWnd() {}
