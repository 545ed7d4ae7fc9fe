// Panel parts: window-colour fills, frames, buttons, captions and splitters of
// panel-style controls, in the four themes.
#include "toolkit/theme/paint_manager.h"

void CExtPaintManagerXP::DrawPanelFrame(CDC& dc, const RECT& rc) { CExtPaintManager::DrawPanelFrame(dc, rc); }
void CExtPaintManagerXP::DrawPanelButton(CDC& dc, const RECT& rc, LPCTSTR s, CExtCmdIcon* p, bool a, bool b, bool c, bool d, CObject* o) { CExtPaintManager::DrawPanelButton(dc, rc, s, p, a, b, c, d, o); }
void CExtPaintManagerXP::DrawPanelItemFrame(CDC& dc, const RECT& rc, CObject* o) { CExtPaintManager::DrawPanelItemFrame(dc, rc, o); }
void CExtPaintManagerXP::DrawPanelCaption(CDC& dc, const RECT& rc, LPCTSTR s, bool a, bool b, bool c, bool d, int n, CObject* o) { CExtPaintManager::DrawPanelCaption(dc, rc, s, a, b, c, d, n, o); }
int CExtPaintManagerXP::GetPanelCaptionHeight() { return 18; }
void CExtPaintManagerXP::GetPanelCaptionTextMargins(RECT& rcMargins) { ::SetRect(&rcMargins, 0, 0, 2, 0); }
void CExtPaintManagerOffice2003::DrawPanelFrame(CDC& dc, const RECT& rc) { CExtPaintManagerXP::DrawPanelFrame(dc, rc); }
void CExtPaintManagerOffice2003::DrawPanelButton(CDC& dc, const RECT& rc, LPCTSTR s, CExtCmdIcon* p, bool a, bool b, bool c, bool d, CObject* o) { CExtPaintManagerXP::DrawPanelButton(dc, rc, s, p, a, b, c, d, o); }
void CExtPaintManagerOffice2003::DrawPanelHeader(CDC& dc, const RECT& rc, LPCTSTR s) { CExtPaintManagerXP::DrawPanelHeader(dc, rc, s); }
void CExtPaintManagerOffice2003::DrawPanelBar(CDC& dc, const RECT& rc, LPCTSTR s) { CExtPaintManagerXP::DrawPanelBar(dc, rc, s); }
void CExtPaintManagerOffice2003::DrawPanelSplitter(CDC& dc, const RECT& rc, bool b) { CExtPaintManagerXP::DrawPanelSplitter(dc, rc, b); }
void CExtPaintManagerOffice2003::DrawPanelCaption(CDC& dc, const RECT& rc, LPCTSTR s, bool a, bool b, bool c, bool d, int n, CObject* o) { CExtPaintManagerXP::DrawPanelCaption(dc, rc, s, a, b, c, d, n, o); }
void CExtPaintManagerOffice2003::GetPanelMargins(RECT& rcMargins) { ::SetRect(&rcMargins, 5, 9, 0, 7); }
void CExtPaintManagerOffice2003::GetPanelCaptionTextMargins(RECT& rcMargins) { ::SetRect(&rcMargins, 10, 0, 2, 0); }
HFONT CExtPaintManagerOffice2003::CreatePanelCaptionFont() { return CExtPaintManagerXP::CreatePanelCaptionFont(); }
