// Puts a text on the clipboard as CF_TEXT, owned by the given window (the callers pass the
// program's main window). Failures are silent: the clipboard may be held by another
// program at any moment.
#pragma once
#include "framework/framework.h"

void CopyToClipboard(CWnd* pOwner, const char* text);
