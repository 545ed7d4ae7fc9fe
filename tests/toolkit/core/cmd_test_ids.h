// Resource and command ids of the command-services test resources (cmd_test.rc).
#pragma once

#define IDR_TEST_MENU 0x6E00
#define IDR_TEST_TOOLBAR 0x6E01
#define IDR_TEST_ACCEL 0x6E02
#define IDD_TEST_DIALOG 0x6E03
#define IDR_TEST_TOOLBAR_SHORT 0x6E04
#define IDR_TEST_TOOLBAR_WIDE 0x6E05

#define ID_TEST_OPEN 0x6E11
#define ID_TEST_EXIT 0x6E12
#define ID_TEST_COPY 0x6E13
#define ID_TEST_PASTE 0x6E14
#define ID_TEST_REFRESH 0x6E15
#define ID_TEST_BLANKS 0x6E16
#define ID_TEST_GERMAN_ONLY 0x6E17

#define IDC_TEST_LIST 0x6E31
#define IDC_TEST_COMBO 0x6E32

// A string block with an empty slot: 0x1234 and 0x1236 exist, 0x1235 does not.
#define IDS_TEST_SLOT4 0x1234
#define IDS_TEST_SLOT6 0x1236
