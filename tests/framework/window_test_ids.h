// Resource ids of the window-layer tests (kept clear of other tests' ids).
#pragma once
#define IDD_WT_MAIN        0x7B00
#define IDD_WT_NOFONT      0x7B01
#define IDD_WT_NOIDLE      0x7B02
#define IDD_WT_PLAIN       0x7B03
#define IDR_WT_ACCEL       0x7B10

#define IDC_WT_NAME        0x7B20
#define IDC_WT_COUNT       0x7B21
#define IDC_WT_CHECK       0x7B22
#define IDC_WT_COMBO       0x7B23
#define IDC_WT_RADIO1      0x7B24
#define IDC_WT_RADIO2      0x7B25
#define IDC_WT_RADIO3      0x7B26
#define IDC_WT_ACTION      0x7B27
#define IDC_WT_LABEL       0x7B28

// Commands (0x8000 and up: the range dialogs pass on to their parent and the application).
#define ID_WT_REFRESH      0x8B01
#define ID_WT_DLGONLY      0x8B02
#define ID_WT_PARENTONLY   0x8B03
#define ID_WT_NOHANDLER    0x8B04
#define ID_WT_DISABLED     0x8B05
#define ID_WT_CONTINUE     0x8B06
