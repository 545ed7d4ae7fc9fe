// The framework's umbrella header: include this to get the whole class library.
// Headers still being written are picked up as soon as they exist.
#pragma once
#include "framework/platform.h"
#include "framework/afxres.h"
#include "framework/object.h"
#include "framework/str.h"
#include "framework/exceptions.h"
#include "framework/geometry.h"
#include "framework/sync.h"
#include "framework/resources.h"
#include "framework/oledatetime.h"

// Collections, files and archives.
#if __has_include("framework/collections.h")
#include "framework/collections.h"
#endif
#if __has_include("framework/file.h")
#include "framework/file.h"
#endif
#if __has_include("framework/archive.h")
#include "framework/archive.h"
#endif
#if __has_include("framework/olestreamfile.h")
#include "framework/olestreamfile.h"
#endif

// Windows, message maps, the application and dialogs.
#if __has_include("framework/cmdtarget.h")
#include "framework/cmdtarget.h"
#endif
#if __has_include("framework/wnd.h")
#include "framework/wnd.h"
#endif
#if __has_include("framework/winthread.h")
#include "framework/winthread.h"
#endif
#if __has_include("framework/app.h")
#include "framework/app.h"
#include "framework/recentfilelist.h"
#endif
#if __has_include("framework/dialog.h")
#include "framework/dialog.h"
#endif

// GDI wrappers, menus, image lists and controls.
#if __has_include("framework/gdiobj.h")
#include "framework/gdiobj.h"
#endif
#if __has_include("framework/dc.h")
#include "framework/dc.h"
#endif
#if __has_include("framework/menu.h")
#include "framework/menu.h"
#endif
#if __has_include("framework/imagelist.h")
#include "framework/imagelist.h"
#endif
#if __has_include("framework/controls.h")
#include "framework/controls.h"
#endif

// Frames and control bars.
#if __has_include("framework/frame.h")
#include "framework/ctrlbar.h"
#include "framework/dockbar.h"
#include "framework/frame.h"
#include "framework/miniframe.h"
#include "framework/statusbar.h"
#include "framework/mdi.h"
#endif
