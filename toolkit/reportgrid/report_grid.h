// The report grid: columns, items, provider and sort order, and the window.
#pragma once
#include "toolkit/reportgrid/report_grid_column.h"
#include "toolkit/reportgrid/report_grid_data.h"
#include "toolkit/reportgrid/report_grid_wnd.h"
