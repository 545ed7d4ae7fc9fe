// Operations of the table whose painting is built with the painting code that uses
// them (bars, menus, tabs, panels, controls, dock markers). Until then they draw
// nothing and answer the neutral value, so every theme object is complete.
#include "toolkit/theme/paint_manager.h"

