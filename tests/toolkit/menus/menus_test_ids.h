// Resource and command ids of the menus tests.
#pragma once
#define IDR_MENUS_TEST_MENU 7600
#define ID_MT_OPEN 0x7601
#define ID_MT_SAVE 0x7602
#define ID_MT_EXIT 0x7603
#define ID_MT_BOLD 0x7604
#define ID_MT_GRAY 0x7605
#define ID_MT_CHECKED 0x7606
#define ID_MT_PASTE 0x7607
#define ID_MT_RECENT1 0xE110
