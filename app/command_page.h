// The base of the main window's pages that take commands. A command posted or sent to a
// page (a menu item, a button's click, a refresh) must not act behind a modal box or
// while a program's command runs, whichever way it reaches the page: the mediator's one
// question decides for every page here. A command the page takes is carried out as the
// main window's own are, so that the list rests a double-click after a refill it makes
// (the groups pane's toolbar, the group editor's buttons).
#pragma once
#include "framework/framework.h"
#include "toolkit/dialogs/resizable_dialog.h"
#include "app/input_rule.h"
#include "app/ui_manager.h"

class CCommandPage : public CExtResizableDialog
{
public:
    using CExtResizableDialog::CExtResizableDialog;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (CUiManager::RefusesMessage(message, wParam, lParam)) return 0;
        CInputRule::CCommandCarriedOut carrying(CInputRule::IsCommandMessage(message, wParam, lParam));
        return CExtResizableDialog::WindowProc(message, wParam, lParam);
    }
};
