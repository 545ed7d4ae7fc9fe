#include "toolkit/bars/bar_mdi_buttons.h"

IMPLEMENT_DYNCREATE(CExtBarMdiDocButton, CExtBarButton)
IMPLEMENT_DYNCREATE(CExtBarMdiRightButton, CExtBarMdiDocButton)

CExtBarMdiDocButton::CExtBarMdiDocButton(CExtToolControlBar* pBar, UINT nCmdID, UINT nStyle)
    : CExtBarButton(pBar, nCmdID, nStyle)
{
}

CExtBarMdiDocButton::~CExtBarMdiDocButton() {}

CExtBarMdiRightButton::CExtBarMdiRightButton(CExtToolControlBar* pBar, UINT nCmdID, UINT nStyle)
    : CExtBarMdiDocButton(pBar, nCmdID, nStyle)
{
}

CExtBarMdiRightButton::~CExtBarMdiRightButton() {}
