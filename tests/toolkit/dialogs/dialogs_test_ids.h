// Resource ids of the dialog test templates (dialogs_test.rc).
#pragma once

#define IDD_DT_ANCHORS 0x7100
#define IDD_DT_SHELL8 0x7101
#define IDD_DT_ARIAL8 0x7102
#define IDD_DT_SANS10 0x7103
#define IDD_DT_PAGE 0x7104
#define IDD_DT_MISSING 0x71FF

#define IDC_DT_FIXED 0x7110
#define IDC_DT_STRETCH 0x7111
#define IDC_DT_CORNER 0x7112
#define IDC_DT_RIGHT 0x7113
#define IDC_DT_HALF 0x7114
#define IDC_DT_COMBO 0x7115
#define IDC_DT_EDIT 0x7116
