// Registration of the common-control window classes.
//
// The program runs with the system's default comctl32 (version 5.8x without a manifest);
// nothing it checks needs version 6: the visual-styles code asks for version 6 only
// together with an active theme, and the folder browser needs 5.0. So the resources
// carry no comctl32 version 6 manifest, and only classes that version 5 knows are
// requested here (version 5 refuses the whole call for a flag it does not know).
#include "framework/ctrl_common.h"

namespace {
LONG g_registered = 0;  // ICC_ bits registered so far (class registration is per process)
}

BOOL AFXAPI AfxInitCommonControls(DWORD dwICC) {
    DWORD need = dwICC & ~(DWORD)g_registered;
    if (need == 0) return TRUE;
    INITCOMMONCONTROLSEX icc;
    icc.dwSize = sizeof(icc);
    icc.dwICC = need;
    if (!::InitCommonControlsEx(&icc)) return FALSE;
    LONG old, now;
    do {
        old = g_registered;
        now = old | (LONG)need;
    } while (::InterlockedCompareExchange(&g_registered, now, old) != old);
    return TRUE;
}

BOOL AFXAPI AfxInitToolkitCommonControls() {
    return AfxInitCommonControls(ICC_WIN95_CLASSES | ICC_DATE_CLASSES | ICC_USEREX_CLASSES | ICC_COOL_CLASSES |
                                 ICC_INTERNET_CLASSES | ICC_PAGESCROLLER_CLASS | ICC_NATIVEFNTCTL_CLASS);
}
