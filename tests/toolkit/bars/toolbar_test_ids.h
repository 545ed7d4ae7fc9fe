// Resource ids of the toolbar tests (62000-62999).
#pragma once
#define IDR_TB_TOOLBAR 62000
#define ID_TB_OPEN 62001
#define ID_TB_SAVE 62002
#define ID_TB_CUT 62003
#define ID_TB_HELP 62004
#define IDD_TB_DIALOG 62010
#define IDC_TB_BAR 62011
#define IDR_TB_DAMAGED 62020
