// How the catalogue reads the values of an Uninstall key: which field of a program entry
// a value fills, found by its name as the registry compares names (without regard to
// case: a key holds one value of a name, whatever its spelling), and a value's text.
// The scan and Remove's check both read a display name through these, so the name a
// removal checks is the name the list shows.
#pragma once
#include <windows.h>
#include <string>

enum class EntryField {
    None,
    DisplayName,
    UninstallString,
    Publisher,
    DisplayIcon,
    InstallDate,
    InstallLocation,
    QuietUninstallString,
    HelpLink,
    ModifyPath,
};

// The field a value of this name fills; None for every other name.
EntryField FieldOfValue(const wchar_t* name, DWORD length);

// Whether the registry keeps the value's data as characters (REG_SZ, REG_EXPAND_SZ,
// REG_MULTI_SZ): those are read as wide text, every other type as bytes.
bool IsTextValue(DWORD type);

// A value's text as the list shows it: a text value's characters up to the first NUL in
// the ANSI code page (a character it lacks shows as its default character), another
// type's bytes up to the first NUL. `data` ends in two zero bytes beyond `size`.
std::string ShownValueText(DWORD type, const BYTE* data, DWORD size);

// The same text exactly: a text value's own characters, another type's bytes read in
// the ANSI code page. Two names that show alike are told apart by this one.
std::wstring ExactValueText(DWORD type, const BYTE* data, DWORD size);

// The exact name an Uninstall key shows now, read as the scan reads it: its display
// name value's text, else the key's own name. The registry's answer.
LONG ReadExactDisplayName(HKEY key, const std::wstring& keyName, std::wstring& name);
