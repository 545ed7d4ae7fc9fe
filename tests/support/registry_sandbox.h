// A scratch registry key for tests. The sandbox creates a unique key under
// HKEY_CURRENT_USER\Software\PurgeletTests, can redirect HKEY_CURRENT_USER and/or
// HKEY_LOCAL_MACHINE into sub-keys of it with RegOverridePredefKey, and removes the
// whole tree (and the redirection) when it goes away. Tests never touch keys they did
// not create.
#pragma once
#include <windows.h>
#include <string>

namespace testsupport {

class RegistrySandbox {
public:
    RegistrySandbox();
    ~RegistrySandbox();
    RegistrySandbox(const RegistrySandbox&) = delete;
    RegistrySandbox& operator=(const RegistrySandbox&) = delete;

    // The scratch key itself and its path below HKEY_CURRENT_USER.
    HKEY Root() const { return m_root; }
    const std::string& Path() const { return m_path; }

    // Redirects the predefined key (HKEY_CURRENT_USER or HKEY_LOCAL_MACHINE) into the
    // sandbox sub-key of the given name until the sandbox is destroyed.
    bool Override(HKEY predefined, const char* subKey);
    void RestoreOverrides();

    // Helpers that write below an open key, creating the sub-key path as needed.
    static bool SetString(HKEY root, const std::string& subKey, const char* name, const std::string& value,
                          DWORD type = REG_SZ);
    static bool SetDword(HKEY root, const std::string& subKey, const char* name, DWORD value);
    static bool SetBinary(HKEY root, const std::string& subKey, const char* name, const void* data, DWORD size,
                          DWORD type = REG_BINARY);
    static bool KeyExists(HKEY root, const std::string& subKey, REGSAM extra = 0);
    static bool DeleteTree(HKEY root, const std::string& subKey, REGSAM extra = 0);
    // The same by exact (wide) key names, for keys named outside the code page.
    static bool SetString(HKEY root, const std::wstring& subKey, const char* name, const std::string& value);
    // A text value by its exact name and text, for texts outside the code page.
    static bool SetString(HKEY root, const std::wstring& subKey, const wchar_t* name, const std::wstring& value);
    static bool KeyExists(HKEY root, const std::wstring& subKey, REGSAM extra = 0);
    static bool DeleteTree(HKEY root, const std::wstring& subKey, REGSAM extra = 0);

private:
    HKEY m_root = nullptr;
    std::string m_path;
    bool m_hkcuOverridden = false;
    bool m_hklmOverridden = false;
    HKEY m_hkcuTarget = nullptr;
    HKEY m_hklmTarget = nullptr;
};

}  // namespace testsupport
