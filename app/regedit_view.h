// The registry editor's windows as View Registry Entry finds them. The editor runs in a
// process of its own; its windows are found by their classes.
#pragma once
#include <windows.h>

// The registry editor's main window, when one is open.
HWND FindRegEditWindow();
// The first window of a class among the children of a window, at any depth; NULL when
// none is.
HWND FindChildOfClass(HWND hParent, const char* pszClass);
// The editor's key tree (a child of its frame, or of a pane inside it as in Wine's),
// once it holds its root; NULL before then, or when the window closed.
HWND FindRegEditReadyTree(HWND hEditor);
// The editor's status bar, which shows the path of the selected key.
HWND FindRegEditStatusBar(HWND hEditor);
