#include "toolkit/bars/dock_highlight_wnd.h"
#include "toolkit/theme/paint_manager.h"

IMPLEMENT_DYNAMIC(CExtDynDockHighlightWnd, CWnd)

const char* const CExtDynDockHighlightWnd::g_sWndClassName = "Kestrix-DynDockHighlightWnd";

CExtDynDockHighlightWnd::CExtDynDockHighlightWnd()
    : m_rcMain(0, 0, 0, 0),
      m_rcTab(0, 0, 0, 0),
      m_bHasTab(false),
      m_bTabAtTop(false),
      m_clrFill(COLORREF(-1)),
      m_clrBorder(COLORREF(-1)),
      m_nBorderWidth(0)
{
}

CExtDynDockHighlightWnd::~CExtDynDockHighlightWnd() {}

void CExtDynDockHighlightWnd::PaintHighlight(DWORD* pPixels, int cx, int cy)
{
    if (pPixels == NULL || cx <= 0 || cy <= 0)
        return;
    g_CurrentPaintManager->PaintDockHighlight(pPixels, cx, cy, m_bHasTab, m_bTabAtTop,
                                              &m_rcMain, m_bHasTab ? &m_rcTab : NULL, m_clrFill,
                                              m_clrBorder, m_nBorderWidth);
}
