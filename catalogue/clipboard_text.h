// Puts a text on the clipboard as CF_TEXT, owned by the application's main window.
// Failures are silent: the clipboard may be held by another program at any moment.
#pragma once

void CopyToClipboard(const char* text);
