// The few registry services whose entry points differ between Windows versions: a
// 32-bit process on 64-bit Windows sees two machine views, and deleting a key in a chosen
// view needs RegDeleteKeyExW, which 32-bit Windows XP lacks. Both are looked up at run
// time so that the program still starts where they are missing.
#pragma once
#include <windows.h>
#include <string>
#include <vector>

namespace registry {

// TRUE when this 32-bit process runs under WOW64 (64-bit Windows).
BOOL IsWow64();

// TRUE when the machine's registry has two views (64-bit Windows), whichever of them this
// process sees by default: a 32-bit process under WOW64 sees the 32-bit one, a 64-bit
// process the 64-bit one. Either must name the view to read the other.
BOOL HasTwoMachineViews();

// Deletes `subkey` (which must have no subkeys) below `parent`. With a view flag
// (KEY_WOW64_64KEY or KEY_WOW64_32KEY) the key is deleted in that view. The name is
// wide: an ANSI name loses the characters its code page lacks and may name another key.
LONG DeleteKey(HKEY parent, const wchar_t* subkey, REGSAM view);

// A key or value name as the registry compares names: without regard to case. Two names
// are one name to the registry when their folded forms are equal; folded names compare
// with plain ordering, so one sort and one search agree.
std::wstring FoldedName(const std::wstring& name);

// Where a key's values are read, one at a time: grown as the values need, reused for
// every value and every key. After a read the name ends in a NUL and the data in two
// zero bytes, so a text value that lacks its own terminator still ends.
struct ValueBuffers {
    std::vector<wchar_t> name;
    std::vector<BYTE> data;
};

// The number of values of an open key, with the buffers grown for its longest name and
// data. The registry's answer.
LONG QueryValues(HKEY key, DWORD& count, ValueBuffers& buffers);

// Reads the value at `index` by its exact (wide) name. A value that grows while it is
// read is read again with room for it, a few times at most. The registry's answer;
// ERROR_NO_MORE_ITEMS once values were deleted meanwhile.
LONG EnumValue(HKEY key, DWORD index, ValueBuffers& buffers, DWORD& nameLength, DWORD& type, DWORD& dataSize);

// Calls take(name, nameLength, type, data, dataSize) for each of the first `count`
// values of `key`, in the registry's order; a value that cannot be read is passed over.
template <class Take>
void ForEachValue(HKEY key, DWORD count, ValueBuffers& buffers, Take take) {
    for (DWORD index = 0; index < count; ++index) {
        DWORD nameLength = 0, type = REG_NONE, dataSize = 0;
        const LONG rc = EnumValue(key, index, buffers, nameLength, type, dataSize);
        if (rc == ERROR_NO_MORE_ITEMS) break;
        if (rc != ERROR_SUCCESS) continue;
        take(static_cast<const wchar_t*>(buffers.name.data()), nameLength, type,
             static_cast<const BYTE*>(buffers.data.data()), dataSize);
    }
}

}  // namespace registry
