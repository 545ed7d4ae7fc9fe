// Dock markers: their looks, images, layout and windows, the hover frames and the
// highlight's pixels.
#include "toolkit/theme/paint_manager.h"

void CExtPaintManagerOffice2003::AdjustDockMarkerColor(int n, CExtBitmap& b1, COLORREF k1, CExtBitmap& b2, COLORREF k2) { CExtPaintManagerXP::AdjustDockMarkerColor(n, b1, k1, b2, k2); }
void CExtPaintManagerOffice2003::PaintDockHighlight(DWORD* p, int cx, int cy, bool a, bool b, const RECT* r1, const RECT* r2, COLORREF c1, COLORREF c2, int w) { CExtPaintManagerXP::PaintDockHighlight(p, cx, cy, a, b, r1, r2, c1, c2, w); }
