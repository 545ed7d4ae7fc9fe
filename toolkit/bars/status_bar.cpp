#include "toolkit/bars/status_bar.h"

IMPLEMENT_DYNAMIC(CExtStatusControlBar, CExtControlBar)

CExtStatusControlBar::CExtStatusControlBar() {}
CExtStatusControlBar::~CExtStatusControlBar() {}
