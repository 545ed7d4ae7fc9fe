// The few registry services whose entry points differ between Windows versions: a
// 32-bit process on 64-bit Windows sees two machine views, and deleting a key in a chosen
// view needs RegDeleteKeyExW, which 32-bit Windows XP lacks. Both are looked up at run
// time so that the program still starts where they are missing.
#pragma once
#include <windows.h>

namespace registry {

// TRUE when this 32-bit process runs under WOW64 (64-bit Windows).
BOOL IsWow64();

// Deletes `subkey` (which must have no subkeys) below `parent`. With a view flag
// (KEY_WOW64_64KEY or KEY_WOW64_32KEY) the key is deleted in that view. The name is
// wide: an ANSI name loses the characters its code page lacks and may name another key.
LONG DeleteKey(HKEY parent, const wchar_t* subkey, REGSAM view);

}  // namespace registry
