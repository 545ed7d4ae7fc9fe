// Resource and command ids of the report grid's header menu and its icons
// (toolkit/reportgrid/report_grid.rc), which the grid loads by these ids. Their range,
// 30450 to 30464, is kept clear of the program's own ids (res/resource.h) and of the
// framework's.
#pragma once

#define IDB_REPORT_GRID_MENU_ICONS      30450
#define IDR_REPORT_GRID_HEADER_MENU     30451

// The header menu's commands.
#define ID_REPORT_GRID_RESERVED         30452
#define ID_REPORT_GRID_SORT_ASC         30453
#define ID_REPORT_GRID_SORT_DESC        30454
#define ID_REPORT_GRID_GROUP_BY         30455
#define ID_REPORT_GRID_GROUP_AREA       30456
#define ID_REPORT_GRID_BEST_FIT         30457
#define ID_REPORT_GRID_COLUMNS          30458
#define ID_REPORT_GRID_REMOVE_COLUMN    30459
#define ID_REPORT_GRID_FIELD_CHOOSER    30460
#define ID_REPORT_GRID_ALIGN_LEFT       30461
#define ID_REPORT_GRID_ALIGN_CENTER     30462
#define ID_REPORT_GRID_ALIGN_RIGHT      30463
#define ID_REPORT_GRID_ALIGN_DEFAULT    30464
