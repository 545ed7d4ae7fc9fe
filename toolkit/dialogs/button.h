// The push button as the command icon reaches it: its icon and the setter of its state
// icons. The dialogs subsystem completes the class.
#pragma once
#include "framework/framework.h"
#include "toolkit/core/cmd_icon.h"

class CExtButton : public CButton
{
    DECLARE_DYNAMIC(CExtButton)
public:
    CExtButton();
    virtual ~CExtButton();

    // Empties the icon, then takes the given icons (and destroys them): with a first
    // and a second icon the first is the hover look and the second the main image,
    // with one of them that one is the main image; a disabled and a pushed icon become
    // the state images 1 and 3. A live button is repainted at once.
    void SetStateIcons(HICON hIconFirst, HICON hIconSecond = NULL, HICON hIconDisabled = NULL,
                       HICON hIconPushed = NULL);

    CExtCmdIcon m_icon;
};
