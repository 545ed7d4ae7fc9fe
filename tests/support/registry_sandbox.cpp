#include "support/registry_sandbox.h"
#include <cstdio>

namespace testsupport {

// Walks the tree by exact (wide) names: an ANSI name turns characters outside the code
// page into "?" and would miss the key, or name another one.
static LONG DeleteTreeW(HKEY root, const wchar_t* subKey, REGSAM extra) {
    HKEY key;
    LONG rc = RegOpenKeyExW(root, subKey, 0, KEY_READ | KEY_WRITE | extra, &key);
    if (rc != ERROR_SUCCESS) return rc;
    for (;;) {
        wchar_t name[512];
        DWORD len = sizeof(name) / sizeof(name[0]);
        if (RegEnumKeyExW(key, 0, name, &len, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        if (DeleteTreeW(key, name, extra) != ERROR_SUCCESS) break;
    }
    RegCloseKey(key);
    if (extra & (KEY_WOW64_32KEY | KEY_WOW64_64KEY)) return RegDeleteKeyExW(root, subKey, extra, 0);
    return RegDeleteKeyW(root, subKey);
}

static std::wstring WideOf(const char* text) {
    int units = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    if (units <= 0) return std::wstring();
    std::wstring wide(static_cast<size_t>(units), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text, -1, &wide[0], units);
    wide.resize(static_cast<size_t>(units - 1));
    return wide;
}

static LONG DeleteTreeImpl(HKEY root, const char* subKey, REGSAM extra) {
    return DeleteTreeW(root, WideOf(subKey).c_str(), extra);
}

RegistrySandbox::RegistrySandbox() {
    char name[128];
    std::snprintf(name, sizeof(name), "Software\\PurgeletTests\\%lu-%lu", GetCurrentProcessId(), GetTickCount());
    m_path = name;
    RegCreateKeyExA(HKEY_CURRENT_USER, m_path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &m_root, nullptr);
}

RegistrySandbox::~RegistrySandbox() {
    RestoreOverrides();
    if (m_root) RegCloseKey(m_root);
    DeleteTreeImpl(HKEY_CURRENT_USER, m_path.c_str(), 0);
}

bool RegistrySandbox::Override(HKEY predefined, const char* subKey) {
    HKEY target;
    if (RegCreateKeyExA(m_root, subKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &target, nullptr) != ERROR_SUCCESS)
        return false;
    if (RegOverridePredefKey(predefined, target) != ERROR_SUCCESS) {
        RegCloseKey(target);
        return false;
    }
    if (predefined == HKEY_CURRENT_USER) {
        if (m_hkcuTarget) RegCloseKey(m_hkcuTarget);
        m_hkcuTarget = target;
        m_hkcuOverridden = true;
    } else {
        if (m_hklmTarget) RegCloseKey(m_hklmTarget);
        m_hklmTarget = target;
        m_hklmOverridden = true;
    }
    return true;
}

void RegistrySandbox::RestoreOverrides() {
    if (m_hkcuOverridden) RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
    if (m_hklmOverridden) RegOverridePredefKey(HKEY_LOCAL_MACHINE, nullptr);
    m_hkcuOverridden = m_hklmOverridden = false;
    if (m_hkcuTarget) RegCloseKey(m_hkcuTarget);
    if (m_hklmTarget) RegCloseKey(m_hklmTarget);
    m_hkcuTarget = m_hklmTarget = nullptr;
}

static bool SetValue(HKEY root, const std::string& subKey, const char* name, DWORD type, const void* data,
                     DWORD size) {
    HKEY key;
    if (RegCreateKeyExA(root, subKey.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return false;
    LONG rc = RegSetValueExA(key, name, 0, type, static_cast<const BYTE*>(data), size);
    RegCloseKey(key);
    return rc == ERROR_SUCCESS;
}

bool RegistrySandbox::SetString(HKEY root, const std::string& subKey, const char* name, const std::string& value,
                                DWORD type) {
    return SetValue(root, subKey, name, type, value.c_str(), static_cast<DWORD>(value.size() + 1));
}

bool RegistrySandbox::SetDword(HKEY root, const std::string& subKey, const char* name, DWORD value) {
    return SetValue(root, subKey, name, REG_DWORD, &value, sizeof(value));
}

bool RegistrySandbox::SetBinary(HKEY root, const std::string& subKey, const char* name, const void* data,
                                DWORD size, DWORD type) {
    return SetValue(root, subKey, name, type, data, size);
}

bool RegistrySandbox::KeyExists(HKEY root, const std::string& subKey, REGSAM extra) {
    HKEY key;
    if (RegOpenKeyExA(root, subKey.c_str(), 0, KEY_READ | extra, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}

bool RegistrySandbox::DeleteTree(HKEY root, const std::string& subKey, REGSAM extra) {
    return DeleteTreeImpl(root, subKey.c_str(), extra) == ERROR_SUCCESS;
}

bool RegistrySandbox::SetString(HKEY root, const std::wstring& subKey, const char* name, const std::string& value) {
    HKEY key;
    if (RegCreateKeyExW(root, subKey.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return false;
    LONG rc = RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                             static_cast<DWORD>(value.size() + 1));
    RegCloseKey(key);
    return rc == ERROR_SUCCESS;
}

bool RegistrySandbox::SetString(HKEY root, const std::wstring& subKey, const wchar_t* name,
                                const std::wstring& value) {
    HKEY key;
    if (RegCreateKeyExW(root, subKey.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return false;
    LONG rc = RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                             static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
    return rc == ERROR_SUCCESS;
}

bool RegistrySandbox::KeyExists(HKEY root, const std::wstring& subKey, REGSAM extra) {
    HKEY key;
    if (RegOpenKeyExW(root, subKey.c_str(), 0, KEY_READ | extra, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}

bool RegistrySandbox::DeleteTree(HKEY root, const std::wstring& subKey, REGSAM extra) {
    return DeleteTreeW(root, subKey.c_str(), extra) == ERROR_SUCCESS;
}

}  // namespace testsupport
