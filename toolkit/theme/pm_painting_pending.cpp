// Operations of the table whose painting is built with the painting code that uses
// them (bars, menus, tabs, panels, controls, dock markers). Until then they draw
// nothing and answer the neutral value, so every theme object is complete.
#include "toolkit/theme/paint_manager.h"

void CExtPaintManager::GetTabColors(COLORREF*, COLORREF*, COLORREF*, COLORREF*, CObject*, LPARAM) {}
void CExtPaintManager::DrawTabItem(CDC&, const RECT&, bool, bool, bool, bool, bool, bool, bool, const RECT&, SIZE, CFont*, LPCTSTR, CExtCmdIcon*, CObject*, LPARAM, COLORREF, COLORREF, COLORREF, COLORREF, COLORREF) {}
void CExtPaintManager::DrawTabPart(CDC&, const RECT&, const RECT&, const RECT&, DWORD, bool, CObject*, LPARAM) {}
void CExtPaintManager::DrawTabArea(CDC&, const RECT&, const RECT&, int, DWORD, int, CObject*, LPARAM) {}
void CExtPaintManager::DrawTabButton(CDC&, const RECT&, LONG, int, bool, bool, bool, bool, int, CObject*, LPARAM) {}
void CExtPaintManager::DrawTabWndFrame(CDC&, const RECT&, CObject*, LPARAM) {}
void CExtPaintManager::GetTabMetrics(CObject*, int&, int&, int&) {}
void CExtPaintManager::DrawSimpleFrame(CDC&, const RECT&, CObject*, LPARAM) {}
