// The menu bar's MDI buttons: the document icon of a maximized MDI child at the start of
// the menu bar, and the group of its minimize, restore and close buttons at the end.
// The toolbar knows them by class: it skips them when it navigates, hovers and lists
// buttons, and keeps the document button apart when it lays out right to left.
#include "toolkit/bars/control_bar.h"

#ifndef TOOLKIT_BARS_BAR_MDI_BUTTONS_H_INCLUDED
#define TOOLKIT_BARS_BAR_MDI_BUTTONS_H_INCLUDED

class CExtBarMdiDocButton : public CExtBarButton
{
    DECLARE_DYNCREATE(CExtBarMdiDocButton)
public:
    explicit CExtBarMdiDocButton(CExtToolControlBar* pBar = NULL, UINT nCmdID = 0, UINT nStyle = 0);
    virtual ~CExtBarMdiDocButton();
};

class CExtBarMdiRightButton : public CExtBarMdiDocButton
{
    DECLARE_DYNCREATE(CExtBarMdiRightButton)
public:
    explicit CExtBarMdiRightButton(CExtToolControlBar* pBar = NULL, UINT nCmdID = 0, UINT nStyle = 0);
    virtual ~CExtBarMdiRightButton();
};

#endif
