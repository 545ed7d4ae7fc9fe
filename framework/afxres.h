// The framework's own resource ids, command ids, control-bar styles and private
// window messages: the classic values, which the Windows headers do not carry.
// Only #define lines, so resource scripts can include this file as well as C++.
#ifndef FRAMEWORK_AFXRES_H
#define FRAMEWORK_AFXRES_H

// ---- Private window messages -------------------------------------------------
#define WM_QUERYAFXWNDPROC   0x0360
#define WM_SIZEPARENT        0x0361
#define WM_SETMESSAGESTRING  0x0362
#define WM_IDLEUPDATECMDUI   0x0363
#define WM_INITIALUPDATE     0x0364
#define WM_COMMANDHELP       0x0365
#define WM_HELPHITTEST       0x0366
#define WM_EXITHELPMODE      0x0367
#define WM_RECALCPARENT      0x0368
#define WM_SIZECHILD         0x0369
#define WM_KICKIDLE          0x036A
#define WM_QUERYCENTERWND    0x036B
#define WM_DISABLEMODAL      0x036C
#define WM_FLOATSTATUS       0x036D
#define WM_ACTIVATETOPLEVEL  0x036E
#define WM_RESERVED_036F     0x036F
#define WM_RESERVED_0370     0x0370
#define WM_RESERVED_0371     0x0371
#define WM_RESERVED_0372     0x0372
#define WM_SOCKET_NOTIFY     0x0373
#define WM_SOCKET_DEAD       0x0374
#define WM_POPMESSAGESTRING  0x0375
#define WM_HELPPROMPTADDR    0x0376
#define WM_IDLEACTIVATE      0x0377
#define WM_QUEUE_SENTINEL    0x0379
#define WM_FORWARDMSG        0x037F

// WM_FLOATSTATUS wParam flags
#define FS_SHOW              0x01
#define FS_HIDE              0x02
#define FS_ACTIVATE          0x04
#define FS_DEACTIVATE        0x08
#define FS_ENABLE            0x10
#define FS_DISABLE           0x20
#define FS_SYNCACTIVE        0x40

// ---- Resource types ------------------------------------------------------------
#define RT_DLGINIT           240
#define RT_TOOLBAR           241

// ---- Strings -----------------------------------------------------------------
#define AFX_IDS_APP_TITLE            0xE000
#define AFX_IDS_IDLEMESSAGE          0xE001
#define AFX_IDS_HELPMODEMESSAGE      0xE002
#define AFX_IDS_APP_TITLE_EMBEDDING  0xE003
#define AFX_IDS_COMPANY_NAME         0xE004
#define AFX_IDS_OBJ_TITLE_INPLACE    0xE005

// System-command tooltips / status texts (SC_* mapped into this range)
#define AFX_IDS_SCFIRST              0xEF00
#define AFX_IDS_SCSIZE               0xEF00
#define AFX_IDS_SCMOVE               0xEF01
#define AFX_IDS_SCMINIMIZE           0xEF02
#define AFX_IDS_SCMAXIMIZE           0xEF03
#define AFX_IDS_SCNEXTWINDOW         0xEF04
#define AFX_IDS_SCPREVWINDOW         0xEF05
#define AFX_IDS_SCCLOSE              0xEF06
#define AFX_IDS_SCRESTORE            0xEF12
#define AFX_IDS_SCTASKLIST           0xEF13
#define AFX_IDS_MDICHILD             0xEF1F
#define AFX_IDS_DESKACCESSORY        0xEFDA

#define AFX_IDS_OPENFILE             0xF000
#define AFX_IDS_SAVEFILE             0xF001
#define AFX_IDS_ALLFILTER            0xF002
#define AFX_IDS_UNTITLED             0xF003
#define AFX_IDS_SAVEFILECOPY         0xF004
#define AFX_IDS_PREVIEW_CLOSE        0xF005
#define AFX_IDS_UNNAMED_FILE         0xF006
#define AFX_IDS_ABOUT                0xF010
#define AFX_IDS_HIDE                 0xF011

#define AFX_IDP_NO_ERROR_AVAILABLE       0xF020
#define AFX_IDS_NOT_SUPPORTED_EXCEPTION  0xF021
#define AFX_IDS_RESOURCE_EXCEPTION       0xF022
#define AFX_IDS_MEMORY_EXCEPTION         0xF023
#define AFX_IDS_USER_EXCEPTION           0xF024
#define AFX_IDS_INVALID_ARG_EXCEPTION    0xF025

#define AFX_IDP_INVALID_FILENAME     0xF100
#define AFX_IDP_FAILED_TO_OPEN_DOC   0xF101
#define AFX_IDP_FAILED_TO_SAVE_DOC   0xF102
#define AFX_IDP_ASK_TO_SAVE          0xF103
#define AFX_IDP_FAILED_TO_CREATE_DOC 0xF104
#define AFX_IDP_FILE_TOO_LARGE       0xF105
#define AFX_IDP_FAILED_TO_START_PRINT 0xF106
#define AFX_IDP_FAILED_TO_LAUNCH_HELP 0xF107
#define AFX_IDP_INTERNAL_FAILURE     0xF108
#define AFX_IDP_COMMAND_FAILURE      0xF109
#define AFX_IDP_FAILED_MEMORY_ALLOC  0xF10A
#define AFX_IDP_UNREG_DONE           0xF10B
#define AFX_IDP_UNREG_FAILURE        0xF10C
#define AFX_IDP_DLL_LOAD_FAILED      0xF10D
#define AFX_IDP_DLL_BAD_VERSION      0xF10E

#define AFX_IDP_PARSE_INT            0xF110
#define AFX_IDP_PARSE_REAL           0xF111
#define AFX_IDP_PARSE_INT_RANGE      0xF112
#define AFX_IDP_PARSE_REAL_RANGE     0xF113
#define AFX_IDP_PARSE_STRING_SIZE    0xF114
#define AFX_IDP_PARSE_RADIO_BUTTON   0xF115
#define AFX_IDP_PARSE_BYTE           0xF116
#define AFX_IDP_PARSE_UINT           0xF117
#define AFX_IDP_PARSE_DATETIME       0xF118
#define AFX_IDP_PARSE_CURRENCY       0xF119

#define AFX_IDP_FAILED_INVALID_FORMAT 0xF120
#define AFX_IDP_FAILED_INVALID_PATH  0xF121
#define AFX_IDP_FAILED_DISK_FULL     0xF122
#define AFX_IDP_FAILED_ACCESS_READ   0xF123
#define AFX_IDP_FAILED_ACCESS_WRITE  0xF124
#define AFX_IDP_FAILED_IO_ERROR_READ 0xF125
#define AFX_IDP_FAILED_IO_ERROR_WRITE 0xF126

#define AFX_IDP_FILE_NONE            0xF130
#define AFX_IDP_FILE_GENERIC         0xF131
#define AFX_IDP_FILE_NOT_FOUND       0xF132
#define AFX_IDP_FILE_BAD_PATH        0xF133
#define AFX_IDP_FILE_TOO_MANY_OPEN   0xF134
#define AFX_IDP_FILE_ACCESS_DENIED   0xF135
#define AFX_IDP_FILE_INVALID_FILE    0xF136
#define AFX_IDP_FILE_REMOVE_CURRENT  0xF137
#define AFX_IDP_FILE_DIR_FULL        0xF138
#define AFX_IDP_FILE_BAD_SEEK        0xF139
#define AFX_IDP_FILE_HARD_IO         0xF13A
#define AFX_IDP_FILE_SHARING         0xF13B
#define AFX_IDP_FILE_LOCKING         0xF13C
#define AFX_IDP_FILE_DISKFULL        0xF13D
#define AFX_IDP_FILE_EOF             0xF13E

#define AFX_IDP_ARCH_NONE            0xF140
#define AFX_IDP_ARCH_GENERIC         0xF141
#define AFX_IDP_ARCH_READONLY        0xF142
#define AFX_IDP_ARCH_ENDOFFILE       0xF143
#define AFX_IDP_ARCH_WRITEONLY       0xF144
#define AFX_IDP_ARCH_BADINDEX        0xF145
#define AFX_IDP_ARCH_BADCLASS        0xF146
#define AFX_IDP_ARCH_BADSCHEMA       0xF147

// ---- Command ids -------------------------------------------------------------
#define ID_SEPARATOR                 0

#define ID_FILE_NEW                  0xE100
#define ID_FILE_OPEN                 0xE101
#define ID_FILE_CLOSE                0xE102
#define ID_FILE_SAVE                 0xE103
#define ID_FILE_SAVE_AS              0xE104
#define ID_FILE_PAGE_SETUP           0xE105
#define ID_FILE_PRINT_SETUP          0xE106
#define ID_FILE_PRINT                0xE107
#define ID_FILE_PRINT_DIRECT         0xE108
#define ID_FILE_PRINT_PREVIEW        0xE109
#define ID_FILE_UPDATE               0xE10A
#define ID_FILE_SAVE_COPY_AS         0xE10B
#define ID_FILE_SEND_MAIL            0xE10C
#define ID_FILE_NEW_FRAME            0xE10D

#define ID_FILE_MRU_FIRST            0xE110
#define ID_FILE_MRU_FILE1            0xE110
#define ID_FILE_MRU_FILE2            0xE111
#define ID_FILE_MRU_FILE3            0xE112
#define ID_FILE_MRU_FILE4            0xE113
#define ID_FILE_MRU_FILE5            0xE114
#define ID_FILE_MRU_FILE6            0xE115
#define ID_FILE_MRU_FILE7            0xE116
#define ID_FILE_MRU_FILE8            0xE117
#define ID_FILE_MRU_FILE9            0xE118
#define ID_FILE_MRU_FILE10           0xE119
#define ID_FILE_MRU_FILE11           0xE11A
#define ID_FILE_MRU_FILE12           0xE11B
#define ID_FILE_MRU_FILE13           0xE11C
#define ID_FILE_MRU_FILE14           0xE11D
#define ID_FILE_MRU_FILE15           0xE11E
#define ID_FILE_MRU_FILE16           0xE11F
#define ID_FILE_MRU_LAST             0xE11F

#define ID_EDIT_CLEAR                0xE120
#define ID_EDIT_CLEAR_ALL            0xE121
#define ID_EDIT_COPY                 0xE122
#define ID_EDIT_CUT                  0xE123
#define ID_EDIT_FIND                 0xE124
#define ID_EDIT_PASTE                0xE125
#define ID_EDIT_PASTE_LINK           0xE126
#define ID_EDIT_PASTE_SPECIAL        0xE127
#define ID_EDIT_REPEAT               0xE128
#define ID_EDIT_REPLACE              0xE129
#define ID_EDIT_SELECT_ALL           0xE12A
#define ID_EDIT_UNDO                 0xE12B
#define ID_EDIT_REDO                 0xE12C

#define ID_WINDOW_NEW                0xE130
#define ID_WINDOW_ARRANGE            0xE131
#define ID_WINDOW_CASCADE            0xE132
#define ID_WINDOW_TILE_HORZ          0xE133
#define ID_WINDOW_TILE_VERT          0xE134
#define ID_WINDOW_SPLIT              0xE135
#define AFX_IDM_WINDOW_FIRST         0xE130
#define AFX_IDM_WINDOW_LAST          0xE13F
#define AFX_IDM_FIRST_MDICHILD       0xFF00

#define ID_APP_ABOUT                 0xE140
#define ID_APP_EXIT                  0xE141
#define ID_HELP_INDEX                0xE142
#define ID_HELP_FINDER               0xE143
#define ID_HELP_USING                0xE144
#define ID_CONTEXT_HELP              0xE145
#define ID_HELP                      0xE146
#define ID_DEFAULT_HELP              0xE147

#define ID_NEXT_PANE                 0xE150
#define ID_PREV_PANE                 0xE151
#define ID_FORMAT_FONT               0xE160

#define ID_OLE_INSERT_NEW            0xE200
#define ID_OLE_EDIT_LINKS            0xE201
#define ID_OLE_EDIT_CONVERT          0xE202
#define ID_OLE_EDIT_CHANGE_ICON      0xE203
#define ID_OLE_EDIT_PROPERTIES       0xE204
#define ID_OLE_VERB_FIRST            0xE210
#define ID_OLE_VERB_LAST             0xE21F

#define ID_PREVIEW_CLOSE             0xE300
#define ID_PREVIEW_NUMPAGE           0xE301
#define ID_PREVIEW_NEXT              0xE302
#define ID_PREVIEW_PREV              0xE303
#define ID_PREVIEW_PRINT             0xE304
#define ID_PREVIEW_ZOOMIN            0xE305
#define ID_PREVIEW_ZOOMOUT           0xE306

#define ID_INDICATOR_EXT             0xE700
#define ID_INDICATOR_CAPS            0xE701
#define ID_INDICATOR_NUM             0xE702
#define ID_INDICATOR_SCRL            0xE703
#define ID_INDICATOR_OVR             0xE704
#define ID_INDICATOR_REC             0xE705
#define ID_INDICATOR_KANA            0xE706

#define ID_VIEW_TOOLBAR              0xE800
#define ID_VIEW_STATUS_BAR           0xE801
#define ID_VIEW_REBAR                0xE804
#define ID_VIEW_AUTOARRANGE          0xE805
#define ID_VIEW_SMALLICON            0xE810
#define ID_VIEW_LARGEICON            0xE811
#define ID_VIEW_LIST                 0xE812
#define ID_VIEW_DETAILS              0xE813
#define ID_VIEW_LINEUP               0xE814
#define ID_VIEW_BYNAME               0xE815
#define AFX_ID_VIEW_MINIMUM          ID_VIEW_SMALLICON
#define AFX_ID_VIEW_MAXIMUM          ID_VIEW_BYNAME

#define ID_RECORD_FIRST              0xE900
#define ID_RECORD_LAST               0xE901
#define ID_RECORD_NEXT               0xE902
#define ID_RECORD_PREV               0xE903

// ---- Window (child) ids --------------------------------------------------------
#define AFX_IDW_CONTROLBAR_FIRST     0xE800
#define AFX_IDW_CONTROLBAR_LAST      0xE8FF
#define AFX_IDW_TOOLBAR              0xE800
#define AFX_IDW_STATUS_BAR           0xE801
#define AFX_IDW_PREVIEW_BAR          0xE802
#define AFX_IDW_RESIZE_BAR           0xE803
#define AFX_IDW_REBAR                0xE804
#define AFX_IDW_DIALOGBAR            0xE805
#define AFX_IDW_DOCKBAR_TOP          0xE81B
#define AFX_IDW_DOCKBAR_LEFT         0xE81C
#define AFX_IDW_DOCKBAR_RIGHT        0xE81D
#define AFX_IDW_DOCKBAR_BOTTOM       0xE81E
#define AFX_IDW_DOCKBAR_FLOAT        0xE81F
#define AFX_CONTROLBAR_MASK(nIDC)    (1L << ((nIDC) - AFX_IDW_CONTROLBAR_FIRST))

#define AFX_IDW_PANE_FIRST           0xE900
#define AFX_IDW_PANE_LAST            0xE9FF
#define AFX_IDW_HSCROLL_FIRST        0xEA00
#define AFX_IDW_VSCROLL_FIRST        0xEA10
#define AFX_IDW_SIZE_BOX             0xEA20
#define AFX_IDW_PANE_SAVE            0xEA21

// ---- Standard dialog, cursor, bitmap and icon resources ---------------------------
#define AFX_IDC_LISTBOX              100
#define AFX_IDC_CHANGE               101
#define AFX_IDC_BROWSER              102
#define AFX_IDC_PRINT_DOCNAME        201
#define AFX_IDC_PRINT_PRINTERNAME    202
#define AFX_IDC_PRINT_PORTNAME       203
#define AFX_IDC_PRINT_PAGENUM        204
#define AFX_IDC_TAB_CONTROL          0x3020

#define AFX_IDC_CONTEXTHELP          30977
#define AFX_IDC_MAGNIFY              30978
#define AFX_IDC_SMALLARROWS          30979
#define AFX_IDC_HSPLITBAR            30980
#define AFX_IDC_VSPLITBAR            30981
#define AFX_IDC_NODROPCRSR           30982
#define AFX_IDC_TRACKNWSE            30983
#define AFX_IDC_TRACKNESW            30984
#define AFX_IDC_TRACKNS              30985
#define AFX_IDC_TRACKWE              30986
#define AFX_IDC_TRACK4WAY            30987
#define AFX_IDC_MOVE4WAY             30988

#define AFX_IDB_MINIFRAME_MENU       30994
#define AFX_IDB_CHECKLISTBOX_95      30996
#define AFX_IDR_PREVIEW_ACCEL        30997
#define AFX_IDI_STD_MDIFRAME         31233
#define AFX_IDI_STD_FRAME            31234

// ---- Control-bar styles ----------------------------------------------------------
#define CBRS_ALIGN_LEFT      0x1000L
#define CBRS_ALIGN_TOP       0x2000L
#define CBRS_ALIGN_RIGHT     0x4000L
#define CBRS_ALIGN_BOTTOM    0x8000L
#define CBRS_ALIGN_ANY       0xF000L

#define CBRS_BORDER_LEFT     0x0100L
#define CBRS_BORDER_TOP      0x0200L
#define CBRS_BORDER_RIGHT    0x0400L
#define CBRS_BORDER_BOTTOM   0x0800L
#define CBRS_BORDER_ANY      0x0F00L

#define CBRS_TOOLTIPS        0x0010L
#define CBRS_FLYBY           0x0020L
#define CBRS_FLOAT_MULTI     0x0040L
// Kept out of the low word so it never collides with the size and float bits.
#define CBRS_BORDER_3D       0x80000000L
#define CBRS_HIDE_INPLACE    0x0008L
#define CBRS_SIZE_DYNAMIC    0x0004L
#define CBRS_SIZE_FIXED      0x0002L
#define CBRS_FLOATING        0x0001L

#define CBRS_GRIPPER         0x00400000L

#define CBRS_ORIENT_HORZ     (CBRS_ALIGN_TOP | CBRS_ALIGN_BOTTOM)
#define CBRS_ORIENT_VERT     (CBRS_ALIGN_LEFT | CBRS_ALIGN_RIGHT)
#define CBRS_ORIENT_ANY      (CBRS_ORIENT_HORZ | CBRS_ORIENT_VERT)

#define CBRS_ALL             0x0040FFFFL

#define CBRS_NOALIGN         0x00000000L
#define CBRS_LEFT            (CBRS_ALIGN_LEFT | CBRS_BORDER_RIGHT)
#define CBRS_TOP             (CBRS_ALIGN_TOP | CBRS_BORDER_BOTTOM)
#define CBRS_RIGHT           (CBRS_ALIGN_RIGHT | CBRS_BORDER_LEFT)
#define CBRS_BOTTOM          (CBRS_ALIGN_BOTTOM | CBRS_BORDER_TOP)

// Toolbar button styles: the common-control button style in the low word, its
// TBSTATE_ bits in the high word (TBBS_DISABLED is the inverse of TBSTATE_ENABLED).
#define TBBS_BUTTON          0x00000000L
#define TBBS_SEPARATOR       0x00000001L
#define TBBS_CHECKBOX        0x00000002L
#define TBBS_GROUP           0x00000004L
#define TBBS_CHECKGROUP      (TBBS_GROUP | TBBS_CHECKBOX)
#define TBBS_DROPDOWN        0x00000008L
#define TBBS_AUTOSIZE        0x00000010L
#define TBBS_NOPREFIX        0x00000020L
#define TBBS_CHECKED         0x00010000L
#define TBBS_PRESSED         0x00020000L
#define TBBS_DISABLED        0x00040000L
#define TBBS_HIDDEN          0x00080000L
#define TBBS_INDETERMINATE   0x00100000L
#define TBBS_WRAPPED         0x00200000L
#define TBBS_ELLIPSES        0x00400000L
#define TBBS_MARKED          0x00800000L

// Control-bar layout modes (CalcDynamicLayout)
#define LM_STRETCH           0x01
#define LM_HORZ              0x02
#define LM_MRUWIDTH          0x04
#define LM_HORZDOCK          0x08
#define LM_VERTDOCK          0x10
#define LM_LENGTHY           0x20
#define LM_COMMIT            0x40

// Status-bar pane styles
#define SBPS_NORMAL          0x0000
#define SBPS_NOBORDERS       0x0100
#define SBPS_POPOUT          0x0200
#define SBPS_OWNERDRAW       0x1000
#define SBPS_DISABLED        0x04000000
#define SBPS_STRETCH         0x08000000

// Default style of a view inside a frame
#define AFX_WS_DEFAULT_VIEW  (WS_CHILD | WS_VISIBLE | WS_BORDER)

#endif // FRAMEWORK_AFXRES_H
