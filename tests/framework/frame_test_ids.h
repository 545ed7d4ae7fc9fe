// Ids of the frame and control-bar tests.
#pragma once
#define IDS_FR_OPEN      0x7D01
#define IDS_FR_CAPS      0x7D02
#define IDS_FR_NUMLOCK   0x7D03
#define ID_FR_FRAMECMD   0x7D10
#define ID_FR_BARCMD     0x7D11
#define IDW_FR_BAR_TOP    0xE850
#define IDW_FR_BAR_BOTTOM 0xE851
#define IDW_FR_BAR_LEFT   0xE852
#define IDW_FR_BAR_RIGHT  0xE853
