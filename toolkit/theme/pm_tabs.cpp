// Tab painting: the strip background and edge, the items, the buttons, the frames and
// the metrics of tab windows in the four themes.
#include "toolkit/theme/paint_manager.h"
#include "toolkit/theme/pm_tabs.h"

CExtPmTabQueries::Queries CExtPmTabQueries::g_tabs = {NULL, NULL, NULL, NULL, NULL, NULL, NULL};

int CExtPmTabQueries::ItemCount(CObject* p) { return (p != NULL && g_tabs.pfnItemCount != NULL) ? g_tabs.pfnItemCount(p) : 0; }
int CExtPmTabQueries::Selection(CObject* p) { return (p != NULL && g_tabs.pfnSelection != NULL) ? g_tabs.pfnSelection(p) : -1; }
DWORD CExtPmTabQueries::TabWndStyle(CObject* p) { return (p != NULL && g_tabs.pfnTabWndStyle != NULL) ? g_tabs.pfnTabWndStyle(p) : 0; }
bool CExtPmTabQueries::ItemStyle(CObject* p, int nIndex, DWORD& dwItemStyle)
{
    dwItemStyle = 0;
    return p != NULL && g_tabs.pfnItemStyle != NULL && g_tabs.pfnItemStyle(p, nIndex, dwItemStyle);
}
bool CExtPmTabQueries::ItemEnabled(CObject* p, int nIndex)
{
    DWORD dw = 0;
    return !ItemStyle(p, nIndex, dw) || (dw & 0x20) == 0;
}
int CExtPmTabQueries::ItemIndexOf(CObject* p) { return (p != NULL && g_tabs.pfnItemIndexOf != NULL) ? g_tabs.pfnItemIndexOf(p) : -1; }
BYTE CExtPmTabQueries::TabWndFlags(CObject* p) { return (p != NULL && g_tabs.pfnTabWndFlags != NULL) ? g_tabs.pfnTabWndFlags(p) : 0; }
bool CExtPmTabQueries::PaintsOwnBackground(CObject* p) { return p != NULL && g_tabs.pfnPaintsOwnBackground != NULL && g_tabs.pfnPaintsOwnBackground(p); }

void CExtPaintManagerXP::DrawTabItem(CDC& dc, const RECT& a, bool b, bool c, bool d, bool e, bool f, bool g, bool h, const RECT& i, SIZE j, CFont* k, LPCTSTR l, CExtCmdIcon* m, CObject* n, LPARAM o, COLORREF p, COLORREF q, COLORREF r, COLORREF s, COLORREF t) { CExtPaintManager::DrawTabItem(dc, a, b, c, d, e, f, g, h, i, j, k, l, m, n, o, p, q, r, s, t); }
void CExtPaintManagerXP::DrawTabPart(CDC& dc, const RECT& a, const RECT& b, const RECT& c, DWORD d, bool e, CObject* f, LPARAM g) { CExtPaintManager::DrawTabPart(dc, a, b, c, d, e, f, g); }
void CExtPaintManagerXP::DrawTabWndFrame(CDC& dc, const RECT& rc, CObject* o, LPARAM l) { CExtPaintManager::DrawTabWndFrame(dc, rc, o, l); }
void CExtPaintManagerXP::DrawSimpleFrame(CDC& dc, const RECT& rc, CObject* o, LPARAM l) { CExtPaintManager::DrawSimpleFrame(dc, rc, o, l); }
void CExtPaintManagerOffice2003::DrawTabPart(CDC& dc, const RECT& a, const RECT& b, const RECT& c, DWORD d, bool e, CObject* f, LPARAM g) { CExtPaintManagerXP::DrawTabPart(dc, a, b, c, d, e, f, g); }
void CExtPaintManagerStudio2005::GetTabColors(COLORREF* a, COLORREF* b, COLORREF* c, COLORREF* d, CObject* o, LPARAM l) { CExtPaintManagerOffice2003::GetTabColors(a, b, c, d, o, l); }
void CExtPaintManagerStudio2005::DrawTabItem(CDC& dc, const RECT& a, bool b, bool c, bool d, bool e, bool f, bool g, bool h, const RECT& i, SIZE j, CFont* k, LPCTSTR l, CExtCmdIcon* m, CObject* n, LPARAM o, COLORREF p, COLORREF q, COLORREF r, COLORREF s, COLORREF t) { CExtPaintManagerOffice2003::DrawTabItem(dc, a, b, c, d, e, f, g, h, i, j, k, l, m, n, o, p, q, r, s, t); }
void CExtPaintManagerStudio2005::DrawTabArea(CDC& dc, const RECT& a, const RECT& b, int c, DWORD d, int e, CObject* f, LPARAM g) { CExtPaintManagerOffice2003::DrawTabArea(dc, a, b, c, d, e, f, g); }
void CExtPaintManagerStudio2005::GetTabMetrics(CObject* p, int& a, int& b, int& c) { CExtPaintManagerOffice2003::GetTabMetrics(p, a, b, c); }
void CExtPaintManagerStudio2005::AdjustTabItemSize(CObject* p, CObject* q, int n, SIZE& s) { CExtPaintManagerOffice2003::AdjustTabItemSize(p, q, n, s); }
