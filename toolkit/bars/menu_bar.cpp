#include "toolkit/bars/menu_bar.h"

IMPLEMENT_DYNAMIC(CExtMenuControlBar, CExtToolControlBar)

CExtMenuControlBar::CExtMenuControlBar() {}
CExtMenuControlBar::~CExtMenuControlBar() {}
