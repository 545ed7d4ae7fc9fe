#include "catalogue/registry_access.h"
#include <algorithm>

namespace registry {

namespace {

// A value that keeps growing while it is read is given up after this many attempts.
const int kMaxReadAttempts = 4;
// Registry names are at most 16383 characters; no name buffer grows beyond this.
const size_t kMaxNameBuffer = 32768 + 2;

void Grow(std::vector<wchar_t>& buf, size_t atLeast) {
    if (buf.size() < atLeast) buf.resize(atLeast);
}
void Grow(std::vector<BYTE>& buf, size_t atLeast) {
    if (buf.size() < atLeast) buf.resize(atLeast);
}

}  // namespace

BOOL IsWow64() {
    typedef BOOL(WINAPI * IsWow64ProcessFn)(HANDLE, PBOOL);
    static int s_known = -1;
    if (s_known < 0) {
        BOOL wow = FALSE;
        HMODULE kernel = ::GetModuleHandleA("kernel32.dll");
        IsWow64ProcessFn fn =
            kernel ? reinterpret_cast<IsWow64ProcessFn>(reinterpret_cast<void*>(::GetProcAddress(kernel, "IsWow64Process")))
                   : nullptr;
        if (!fn || !fn(::GetCurrentProcess(), &wow)) wow = FALSE;
        s_known = wow ? 1 : 0;
    }
    return s_known ? TRUE : FALSE;
}

BOOL HasTwoMachineViews() { return sizeof(void*) == 8 || IsWow64(); }

LONG DeleteKey(HKEY parent, const wchar_t* subkey, REGSAM view) {
    if (!subkey || !*subkey) return ERROR_INVALID_PARAMETER;  // an empty name would delete the parent
    if (view & (KEY_WOW64_64KEY | KEY_WOW64_32KEY)) {
        typedef LONG(WINAPI * RegDeleteKeyExWFn)(HKEY, LPCWSTR, REGSAM, DWORD);
        static RegDeleteKeyExWFn s_fn = nullptr;
        static bool s_looked = false;
        if (!s_looked) {
            HMODULE advapi = ::GetModuleHandleA("advapi32.dll");
            if (advapi)
                s_fn = reinterpret_cast<RegDeleteKeyExWFn>(
                    reinterpret_cast<void*>(::GetProcAddress(advapi, "RegDeleteKeyExW")));
            s_looked = true;
        }
        if (s_fn) return s_fn(parent, subkey, view & (KEY_WOW64_64KEY | KEY_WOW64_32KEY), 0);
        // Without RegDeleteKeyExW there is only one view, the process's own.
    }
    return ::RegDeleteKeyW(parent, subkey);
}

std::wstring FoldedName(const std::wstring& name) {
    std::wstring folded(name);
    if (!folded.empty()) ::CharUpperBuffW(&folded[0], static_cast<DWORD>(folded.size()));
    return folded;
}

LONG QueryValues(HKEY key, DWORD& count, ValueBuffers& buffers) {
    DWORD maxNameLength = 0, maxDataSize = 0;
    count = 0;
    const LONG rc = ::RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count,
                                       &maxNameLength, &maxDataSize, nullptr, nullptr);
    if (rc != ERROR_SUCCESS) return rc;
    Grow(buffers.name, std::min(static_cast<size_t>(maxNameLength) + 2, kMaxNameBuffer));
    Grow(buffers.data, static_cast<size_t>(maxDataSize) + 2);
    return ERROR_SUCCESS;
}

LONG EnumValue(HKEY key, DWORD index, ValueBuffers& buffers, DWORD& nameLength, DWORD& type, DWORD& dataSize) {
    std::vector<wchar_t>& name = buffers.name;
    std::vector<BYTE>& data = buffers.data;
    Grow(name, 2);
    Grow(data, 2);
    LONG rc = ERROR_MORE_DATA;
    for (int attempt = 0; attempt < kMaxReadAttempts && rc == ERROR_MORE_DATA; ++attempt) {
        nameLength = static_cast<DWORD>(name.size() - 1);
        dataSize = static_cast<DWORD>(data.size() - 2);
        type = REG_NONE;
        rc = ::RegEnumValueW(key, index, name.data(), &nameLength, nullptr, &type, data.data(), &dataSize);
        if (rc == ERROR_MORE_DATA) {
            // The value grew since the key was queried. The registry tells the data size it
            // needs but not the name's, so the name buffer simply doubles.
            Grow(data, std::max<size_t>(static_cast<size_t>(dataSize) + 2, data.size() * 2));
            Grow(name, std::min(name.size() * 2, kMaxNameBuffer));
        }
    }
    if (rc != ERROR_SUCCESS) return rc;
    if (nameLength >= name.size() || dataSize > data.size() - 2) return ERROR_INVALID_DATA;
    name[nameLength] = L'\0';
    data[dataSize] = 0;
    data[dataSize + 1] = 0;
    return ERROR_SUCCESS;
}

}  // namespace registry
