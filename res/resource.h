// Resource ids of the program.
#pragma once

// The main dialog and the left pane.
#define IDM_ABOUTBOX                    0x0010
#define IDS_ABOUTBOX                    101
#define IDD_PURGELET_DIALOG             102
#define IDD_PAGE_UNINSTALL              132
#define IDR_MAIN_MENU                   129
#define IDR_GROUPS_TOOLBAR              135
#define IDR_MAIN_TOOLBAR                144
#define IDR_MAIN_ACCELERATORS           155
#define IDI_UNINSTALL                   145
#define IDI_REFRESH                     146
#define IDI_OPTIONS                     147
#define IDI_HELP                        148
#define IDI_RELAY                       156
#define IDI_REMOVE                      157
#define IDC_MENUBAR                     1003
#define IDC_PAGE_PLACE                  1008
#define IDC_TOOLBAR                     1017

// Pages of the main window.
#define IDD_PAGE_GROUPS                 130
#define IDD_PAGE_LIST                   131
#define IDD_PAGE_VIEW                   133
#define IDD_PAGE_DETAILS                149
#define IDD_PAGE_GROUP_EDITOR           151
#define IDR_MENU_PROGRAM_CONTEXT        153
#define IDI_SEARCH                      134
#define IDI_GROUP_NEW                   140
#define IDI_GROUP_DELETE                141
#define IDI_GROUP_EDIT                  143
#define IDC_LIST                        1002
#define IDC_TREE                        1009
#define IDC_SEARCH                      1013
#define IDC_GROUPS_TOOLBAR              1017
#define IDC_GROUP_NAME                  1020
#define IDC_GROUP_KEYWORDS              1021
#define IDC_GROUP_KEYWORDS_LABEL        1022
#define IDC_GROUP_NAME_LABEL            1023
#define IDC_GROUP_PROPERTY              1024
#define IDC_GROUP_APPLY                 12321

// Commands of the main dialog (the others are the framework's: Exit 57665, Copy 57634,
// Help 57670 and 57669 (the framework's ID_HELP and ID_CONTEXT_HELP), About 57664).
#define ID_VIEW_REFRESH                 32780
#define ID_VIEW_OPTIONS                 32783
#define ID_EDIT_COPY_APPLICATION        32802
#define ID_EDIT_COPY_PUBLISHER          32803
#define ID_VIEW_GROUPS                  32805
#define ID_TOLVEX_RELAY                 32813
// Program commands (the main dialog answers them; Details is the framework's
// ID_VIEW_DETAILS, 59411).
#define ID_PROGRAM_UNINSTALL            32792
#define ID_PROGRAM_UNINSTALL_QUIET      32793
#define ID_PROGRAM_MODIFY               32794
#define ID_PROGRAM_REGISTRY_ENTRY       32796
#define ID_PROGRAM_ADD_TO_GROUP         32804
#define ID_PROGRAM_OPEN_FOLDER          32810
#define ID_PROGRAM_REMOVE_ENTRY         32815
// Groups toolbar.
#define ID_GROUP_NEW                    32775
#define ID_GROUP_DELETE                 32776
#define ID_GROUP_EDIT                   32777
// Application dialogs.
#define IDD_ABOUTBOX                    100
#define IDR_MAINFRAME                   128
#define IDD_OPTIONS                     152
#define IDD_ADD_TO_GROUP                154
#define IDC_SELECT_GROUP_LABEL          1028
#define IDC_KEYWORD_LABEL               1030
#define IDC_KEYWORD                     1031
#define IDC_AUTO_REFRESH                1032
#define IDC_HIDE_INVALID                1033
#define IDC_SIZE_TYPE                   1034
#define IDC_SIZE_TYPE_LABEL             1035
#define IDC_OPTIONS_GENERAL             1036
#define IDC_OPTIONS_VIEW                1037
#define IDC_GRID_COLOR1                 1038
#define IDC_SHOW_GRID                   1039
#define IDC_GRID_COLOR2                 1040
#define IDC_ABOUT_ICON                  1139
#define IDC_ABOUT_TITLE                 1186
#define IDC_ABOUT_NOTICE                1187
#define IDC_ABOUT_LINKS                 1188
#define IDC_LINK_WEB                    1189
#define IDC_LINK_SUPPORT                1190
#define IDC_LINK_DONATE                 1191
#define IDC_WEB_LABEL                   1192
#define IDC_SUPPORT_LABEL               1193
