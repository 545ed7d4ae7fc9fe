#include "toolkit/pickers/popup_control_input.h"

const UINT g_nMsgExtControlInputRetranslate =
    ::RegisterWindowMessageA("CExtPopupControlMenuWnd::g_nMsgControlInputRetranslate");
