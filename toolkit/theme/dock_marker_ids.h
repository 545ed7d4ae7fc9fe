// Resource ids of the dock-marker images (toolkit/theme/dock_markers.rc), which the
// theme loads when it builds a marker. Their range, 30343 to 30399, is kept clear of the
// program's own ids (res/resource.h) and of the framework's.
#pragma once

// The classic look.
#define IDB_DOCK_MARKER_BOTTOM              30343
#define IDB_DOCK_MARKER_LEFT                30344
#define IDB_DOCK_MARKER_RIGHT               30345
#define IDB_DOCK_MARKER_SECOND_CENTRE       30346
#define IDB_DOCK_MARKER_TOP                 30347
#define IDB_DOCK_MARKER_CENTRE              30348

// The look with frames round the outer markers.
#define IDB_DOCK_MARKER_BETA2_LEFT          30390
#define IDB_DOCK_MARKER_BETA2_RIGHT         30391
#define IDB_DOCK_MARKER_BETA2_TOP           30392
#define IDB_DOCK_MARKER_BETA2_BOTTOM        30393
#define IDB_DOCK_MARKER_BETA2_CENTRE        30394
#define IDB_DOCK_MARKER_BETA2_SECOND_CENTRE 30395
#define IDB_DOCK_MARKER_BETA2_FRAME_LEFT    30396
#define IDB_DOCK_MARKER_BETA2_FRAME_RIGHT   30397
#define IDB_DOCK_MARKER_BETA2_FRAME_TOP     30398
#define IDB_DOCK_MARKER_BETA2_FRAME_BOTTOM  30399
