// Uninstall keys named by their exact (wide) names, as the catalogue's and the main
// window's tests seed them under the redirected HKEY_CURRENT_USER: the Uninstall and
// ARP cache paths, three names the code page of the tests shows alike, and whether a
// program's key is still there.
#pragma once
#include "support/registry_sandbox.h"
#include <string>

namespace testsupport {
namespace widekeys {

const std::wstring kUninstallPathW = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
const std::wstring kArpCachePathW = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Management\\ARPCache\\";

// "ZZE " and a Cyrillic capital (Zhe, De) or a plain question mark, then "1": the code
// page of the tests shows all three as "ZZE ?1", the literal name of the third.
const wchar_t kZhe[] = L"ZZE \x0416" L"1";
const wchar_t kDe[] = L"ZZE \x0414" L"1";
const wchar_t kLiteral[] = L"ZZE ?1";

// Whether the program's Uninstall key, and its ARP cache key, exist.
inline bool Listed(const std::wstring& key)
{
    return RegistrySandbox::KeyExists(HKEY_CURRENT_USER, kUninstallPathW + key);
}
inline bool Cached(const std::wstring& key)
{
    return RegistrySandbox::KeyExists(HKEY_CURRENT_USER, kArpCachePathW + key);
}

}  // namespace widekeys
}  // namespace testsupport
