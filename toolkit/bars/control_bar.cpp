#include "toolkit/bars/control_bar.h"
#include "toolkit/theme/paint_manager.h"

IMPLEMENT_DYNAMIC(CExtBarColorButton, CExtBarButton)
IMPLEMENT_DYNAMIC(CExtDynDockMarkerWnd, CWnd)


CExtBarColorButton::CExtBarColorButton(CExtControlBar* pBar) : CExtBarButton(pBar) {}
CExtBarColorButton::~CExtBarColorButton() {}

CExtDynDockMarkerWnd::~CExtDynDockMarkerWnd() {}

