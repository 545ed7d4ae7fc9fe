#include "catalogue/registry_access.h"

namespace registry {

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

}  // namespace registry
