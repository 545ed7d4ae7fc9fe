// 8-bit ANSI text of UTF-16 text the catalogue reads from elsewhere (the Add/Remove
// cache's fixed-size path field, the groups file's XML strings, registry key names).
#pragma once
#include <windows.h>
#include <string>

// Converts `units` code units of `text` (no terminator needed) in the ANSI code page.
// False, with `out` untouched, when there is nothing to convert or the text has no
// ANSI form; otherwise `out` holds what the conversion wrote (empty if it then failed).
bool AnsiFromWide(const wchar_t* text, int units, std::string& out);

// Converts `units` code units of `text` only when the ANSI code page holds every character
// of it: false, with `out` empty, when one would become the default character or a
// look-alike (best fit turns "\u0101" into "a"), that is when the ANSI text would not give
// the same text back. Nothing to convert is converted exactly. For text that is stored
// again, where a look-alike would be written over the original.
bool ExactAnsiFromWide(const wchar_t* text, int units, std::string& out);

// The ANSI form of a whole text, as the code page allows: a character it lacks becomes
// the code page's default character. For showing a name, never for finding it again.
std::string AnsiText(const std::wstring& text);

// The wide form of `bytes` bytes of ANSI text (no terminator needed), as the code page
// reads them; empty when there is nothing to convert.
std::wstring WideFromAnsi(const char* text, size_t bytes);
