// Spin buttons, group boxes, date-picker pieces, the undo/redo caption, report headers
// and the Office 2003 bar and menu gradients.
#include "toolkit/theme/paint_manager.h"

void CExtPaintManagerXP::DrawUndoRedoCaption(CDC& dc, const RECT& rc, LPCTSTR s, CObject* o) { CExtPaintManager::DrawUndoRedoCaption(dc, rc, s, o); }
void CExtPaintManagerXP::DrawSpinButton(CDC& dc, const RECT& rc, bool a, bool b, bool c, bool d, bool e, bool f, bool g, bool h, CObject* o, LPARAM l) { CExtPaintManager::DrawSpinButton(dc, rc, a, b, c, d, e, f, g, h, o, l); }
void CExtPaintManagerOffice2003::DrawDatePickerBorder(CDC& dc, const RECT& rc, CObject* o, LPARAM l) { CExtPaintManagerXP::DrawDatePickerBorder(dc, rc, o, l); }
void CExtPaintManagerOffice2003::DrawDatePickerFrame(int a, int b, CDC& dc, int c, int d, const RECT& r1, const RECT& r2, int e, int f, int g, CObject* o, LPARAM l) { CExtPaintManagerXP::DrawDatePickerFrame(a, b, dc, c, d, r1, r2, e, f, g, o, l); }
void CExtPaintManagerOffice2003::DrawSpinButton(CDC& dc, const RECT& rc, bool a, bool b, bool c, bool d, bool e, bool f, bool g, bool h, CObject* o, LPARAM l) { CExtPaintManagerXP::DrawSpinButton(dc, rc, a, b, c, d, e, f, g, h, o, l); }
void CExtPaintManagerOffice2003::DrawBarButtonGradient(CDC& dc, CExtBarButton* p, LPARAM l) { CExtPaintManagerXP::DrawBarButtonGradient(dc, p, l); }
bool CExtPaintManagerOffice2003::DrawReportHeader(CDC& dc, const RECT& rc, CObject* o, LPARAM l) { return CExtPaintManagerXP::DrawReportHeader(dc, rc, o, l); }
void CExtPaintManagerOffice2003::DrawGradientBackground(CDC& dc, RECT rc, bool b, CObject* o, LPARAM l, COLORREF c1, COLORREF c2) { CExtPaintManagerXP::DrawGradientBackground(dc, rc, b, o, l, c1, c2); }
