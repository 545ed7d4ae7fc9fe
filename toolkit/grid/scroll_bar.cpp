#include "toolkit/grid/scroll_bar.h"

IMPLEMENT_DYNAMIC(CExtScrollBar, CWnd)

CExtScrollBar::CExtScrollBar()
    : m_nHorzBarHeight(0), m_nVertBarWidth(0), m_nHorzButtonWidth(0), m_nVertButtonHeight(0)
{
}

CExtScrollBar::~CExtScrollBar() {}

int CExtScrollBar::GetOrientationKind() const { return -1; }
