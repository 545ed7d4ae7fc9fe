#include "toolkit/bars/bar_nc_buttons.h"

IMPLEMENT_DYNAMIC(CExtBarNcAreaButton, CObject)
IMPLEMENT_DYNAMIC(CExtBarNcAreaButtonMenu, CExtBarNcAreaButton)

CExtBarNcAreaButton::CExtBarNcAreaButton() {}
CExtBarNcAreaButton::~CExtBarNcAreaButton() {}

CExtBarNcAreaButtonMenu::CExtBarNcAreaButtonMenu() {}
CExtBarNcAreaButtonMenu::~CExtBarNcAreaButtonMenu() {}
bool CExtBarNcAreaButtonMenu::OnQueryXpLook() const { return false; }
