#include "toolkit/menus/popup_menu_wnd.h"

IMPLEMENT_DYNAMIC(CExtPopupBaseWnd, CWnd)
IMPLEMENT_DYNAMIC(CExtPopupMenuWnd, CExtPopupBaseWnd)
IMPLEMENT_DYNAMIC(CExtPopupMenuTipWnd, CExtPopupBaseWnd)

CExtPopupBaseWnd::CExtPopupBaseWnd() {}
CExtPopupBaseWnd::~CExtPopupBaseWnd() {}
CObject* CExtPopupBaseWnd::GetCombinedObject() { return NULL; }
bool CExtPopupBaseWnd::UsesDefaultCombinePainter() { return false; }

CExtPopupMenuWnd::CExtPopupMenuWnd() {}
CExtPopupMenuWnd::~CExtPopupMenuWnd() {}
bool CExtPopupMenuWnd::UsesDefaultCombinePainter() { return true; }

CExtPopupMenuTipWnd::CExtPopupMenuTipWnd() {}
CExtPopupMenuTipWnd::~CExtPopupMenuTipWnd() {}
