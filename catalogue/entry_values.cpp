#include "catalogue/entry_values.h"
#include <cstring>
#include <cwchar>
#include "catalogue/ansi_text.h"
#include "catalogue/registry_access.h"

namespace {

struct KnownValue {
    const wchar_t* folded;  // the name in capitals, as FoldedName gives it
    EntryField field;
};
const KnownValue kKnownValues[] = {
    {L"DISPLAYNAME", EntryField::DisplayName},
    {L"UNINSTALLSTRING", EntryField::UninstallString},
    {L"PUBLISHER", EntryField::Publisher},
    {L"DISPLAYICON", EntryField::DisplayIcon},
    {L"INSTALLDATE", EntryField::InstallDate},
    {L"INSTALLLOCATION", EntryField::InstallLocation},
    {L"QUIETUNINSTALLSTRING", EntryField::QuietUninstallString},
    {L"HELPLINK", EntryField::HelpLink},
    {L"MODIFYPATH", EntryField::ModifyPath},
};
// No known name is longer: a longer name is none of them without folding it.
const DWORD kLongestKnownName = 20;

// The characters of a text value up to its first NUL; a value of an odd size loses its
// last byte, which holds no whole character.
const wchar_t* TextUnits(const BYTE* data, DWORD size, size_t& units) {
    const wchar_t* text = reinterpret_cast<const wchar_t*>(data);
    const size_t most = size / sizeof(wchar_t);
    units = 0;
    while (units < most && text[units] != L'\0') ++units;
    return text;
}

// The bytes of a value up to its first NUL, never beyond its size.
size_t ByteLength(const BYTE* data, DWORD size) {
    const void* nul = size ? std::memchr(data, '\0', size) : nullptr;
    return nul ? static_cast<size_t>(static_cast<const BYTE*>(nul) - data) : static_cast<size_t>(size);
}

}  // namespace

EntryField FieldOfValue(const wchar_t* name, DWORD length) {
    if (length == 0 || length > kLongestKnownName) return EntryField::None;
    wchar_t folded[kLongestKnownName + 1];
    std::wmemcpy(folded, name, length);
    folded[length] = L'\0';
    ::CharUpperBuffW(folded, length);
    for (const KnownValue& known : kKnownValues)
        if (std::wcscmp(folded, known.folded) == 0) return known.field;
    return EntryField::None;
}

bool IsTextValue(DWORD type) { return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ; }

std::string ShownValueText(DWORD type, const BYTE* data, DWORD size) {
    if (!IsTextValue(type)) return std::string(reinterpret_cast<const char*>(data), ByteLength(data, size));
    size_t units = 0;
    const wchar_t* text = TextUnits(data, size, units);
    std::string shown;
    AnsiFromWide(text, static_cast<int>(units), shown);
    return shown;
}

std::wstring ExactValueText(DWORD type, const BYTE* data, DWORD size) {
    if (!IsTextValue(type)) return WideFromAnsi(reinterpret_cast<const char*>(data), ByteLength(data, size));
    size_t units = 0;
    const wchar_t* text = TextUnits(data, size, units);
    return std::wstring(text, units);
}

LONG ReadExactDisplayName(HKEY key, const std::wstring& keyName, std::wstring& name) {
    registry::ValueBuffers buffers;
    DWORD count = 0;
    const LONG rc = registry::QueryValues(key, count, buffers);
    if (rc != ERROR_SUCCESS) return rc;
    std::wstring read;
    registry::ForEachValue(key, count, buffers,
                           [&](const wchar_t* valueName, DWORD nameLength, DWORD type, const BYTE* data, DWORD size) {
                               if (FieldOfValue(valueName, nameLength) == EntryField::DisplayName)
                                   read = ExactValueText(type, data, size);
                           });
    name = read.empty() ? keyName : read;
    return ERROR_SUCCESS;
}
