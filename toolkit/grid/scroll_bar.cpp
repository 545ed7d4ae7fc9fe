#include "toolkit/grid/scroll_bar.h"
#include "toolkit/theme/pm_scroll_bar.h"

IMPLEMENT_DYNAMIC(CExtScrollBar, CWnd)

CExtScrollBar::CExtScrollBar()
    : m_nHorzBarHeight(0), m_nVertBarWidth(0), m_nHorzButtonWidth(0), m_nVertButtonHeight(0)
{
}

CExtScrollBar::~CExtScrollBar() {}

int CExtScrollBar::GetOrientationKind() const { return -1; }

// The theme engine links before this library and so cannot name the scroll bar; its
// painting record asks through these answers, installed once at start-up.
namespace {

CWnd* BarWnd(CExtScrollBar* pBar) { return pBar; }

int BarOrientationKind(CExtScrollBar* pBar) { return pBar->GetOrientationKind(); }

void BarMetrics(CExtScrollBar* pBar, int arrMetrics[4])
{
    arrMetrics[0] = pBar->m_nHorzBarHeight;
    arrMetrics[1] = pBar->m_nVertBarWidth;
    arrMetrics[2] = pBar->m_nHorzButtonWidth;
    arrMetrics[3] = pBar->m_nVertButtonHeight;
}

const CExtScrollBarPaintHooks g_barPaintHooks = {BarWnd, BarOrientationKind, BarMetrics};

struct BarPaintHooksInstaller
{
    BarPaintHooksInstaller() { CExtPaintManager::PAINTSCROLLBARDATA::stat_SetBarHooks(&g_barPaintHooks); }
} g_barPaintHooksInstaller;

}  // namespace
