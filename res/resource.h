// Resource ids of the program.
#pragma once

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
