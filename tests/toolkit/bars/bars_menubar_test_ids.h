// Resource ids of the status-bar, menu-bar and main-dialog-shaped tests (63000-63999).
#pragma once
#define IDS_MB_IND_CAPS 63001
#define IDS_MB_IND_NUM 63002
#define IDR_MB_MENU 63100
#define ID_MB_FILE_NEW 63101
#define ID_MB_FILE_EXIT 63102
#define ID_MB_EDIT_COPY 63103
#define ID_MB_EDIT_FIND 63104
#define ID_MB_VIEW_REFRESH 63105
#define ID_MB_HELP_ABOUT 63106
#define ID_MB_PLAIN 63107
#define ID_MB_UNREGISTERED 63108
#define IDD_MB_MAIN 63200
#define IDC_MB_MENUBAR 63201
#define IDC_MB_TOOLBAR 63202
#define IDC_MB_PAGE 63203
#define IDR_MB_TOOLBAR 63300
