#include "toolkit/bars/toolbar.h"

IMPLEMENT_DYNAMIC(CExtToolControlBar, CExtControlBar)

CExtToolControlBar::CExtToolControlBar() : m_nBtnIdxMenuTracking(-1)
{
    // A toolbar has a fixed size, its gripper goes to the left when it is docked
    // horizontally, and its buttons (not one child window) fill it.
    m_nOptionFlags = BYTE((m_nOptionFlags | __ESF_FIXED_MODE) & ~__ESF_CAPTION_AT_TOP);
    m_nActivityFlags &= ~__EAF_CONTENT_FILLS;
    m_nLifeFlags |= __ELF_CUSTOMIZE_REGISTER;
}
CExtToolControlBar::~CExtToolControlBar() {}
int CExtToolControlBar::OnQueryShape(int, int) { return 1; }

CExtToolControlBar::ChildBkgndInfo_t::ChildBkgndInfo_t()
    : m_pBar(NULL), m_pMiniFrame(NULL), m_hWndChild(NULL)
{
}

CExtToolControlBar::ChildBkgndInfo_t::~ChildBkgndInfo_t()
{
    m_arrRects.RemoveAll();
    m_arrValues.RemoveAll();
}
