#include "toolkit/bars/control_bar.h"
#include "toolkit/theme/paint_manager.h"

IMPLEMENT_DYNAMIC(CExtDynDockMarkerWnd, CWnd)

CExtDynDockMarkerWnd::~CExtDynDockMarkerWnd() {}

