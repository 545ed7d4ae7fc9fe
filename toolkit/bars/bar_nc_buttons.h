// CExtBarNcAreaButton and its kinds: the buttons in a bar's caption.
//
// control_bar.h includes this header where the classes belong among the bars, so the
// include comes before the guard.
#include "toolkit/bars/control_bar.h"

#ifndef TOOLKIT_BARS_BAR_NC_BUTTONS_H_INCLUDED
#define TOOLKIT_BARS_BAR_NC_BUTTONS_H_INCLUDED

class CExtBarNcAreaButton : public CObject
{
    DECLARE_DYNAMIC(CExtBarNcAreaButton)
public:
    CExtBarNcAreaButton();
    virtual ~CExtBarNcAreaButton();
};

class CExtBarNcAreaButtonMenu : public CExtBarNcAreaButton
{
    DECLARE_DYNAMIC(CExtBarNcAreaButtonMenu)
public:
    CExtBarNcAreaButtonMenu();
    virtual ~CExtBarNcAreaButtonMenu();
    // Decides whether the Studio 2005 caption button takes the XP body.
    virtual bool OnQueryXpLook() const;
};

#endif
