// Where the hand was when it made the mouse message being handled. A press, a release
// or a double-click is judged there, as the system's own controls judge it: the pointer
// may have moved on by the time a busy thread takes the message, and a release made on
// a button must still click it, one made beside it must not. The live cursor
// (GetCursorPos) is for what follows the pointer as it is now: hover, drag tracking,
// timers, placing a menu by the pointer.
#pragma once
#include "framework/framework.h"

// The point a message carries, in hWnd's client coordinates: the client point of a
// client-area mouse message (lParam, in hWnd's own coordinates), the screen point of a
// wheel, non-client or context-menu message made by the mouse, else the position of the
// message the thread took last (GetMessagePos), as for a message that carries none.
CPoint MessagePoint(HWND hWnd, UINT nMessage, LPARAM lParam);
