// Resource ids of the control-bar tests.
#pragma once
#define IDD_BT_BAR_DIALOG 6101
#define IDC_BT_TEMPLATE_BAR 6102
#define IDS_BT_BAR_CAPTION 6103
