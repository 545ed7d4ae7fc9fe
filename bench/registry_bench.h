#pragma once
// What the registry benchmarks share: writing a seeded value, and the reference they are
// measured against.
#include <windows.h>
#include <cstdio>
#include <string>
#include "catalogue/program_entry.h"

inline void SetText(HKEY key, const char* name, const std::string& text) {
    RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                   static_cast<DWORD>(text.size() + 1));
}

// The key name of the seeded entry number i of the benchmark with that mark.
inline void SeedEntryName(const char* mark, int i, char (&name)[64]) {
    std::snprintf(name, sizeof(name), "{%08X%s%04d}", static_cast<unsigned>(i * 2654435761u), mark, i);
}

// Creates the benchmarks' seeded entry number i under the Uninstall key, named after the
// benchmark's mark, with the values every seeded entry carries; the caller adds its own
// and closes the key. NULL when the key cannot be made.
inline HKEY CreateSeedEntry(HKEY uninstall, const char* mark, int i, char (&name)[64]) {
    SeedEntryName(mark, i, name);
    HKEY key;
    if (RegCreateKeyExA(uninstall, name, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return nullptr;
    const std::string n = std::to_string(i);
    SetText(key, "DisplayName", "Benchmark Program " + n);
    SetText(key, "UninstallString", "\"C:\\Program Files\\Bench" + n + "\\unins000.exe\"");
    SetText(key, "Publisher", "Bench Publisher " + std::to_string(i % 37));
    SetText(key, "DisplayVersion", "1.0." + n);
    return key;
}

// Seeds the window benchmarks' entry number i: the values every seeded entry carries, an
// icon and an install folder, and for every second entry an ARP cache record (under the
// same name in `arp`) with a size and a use frequency.
inline void SeedWindowEntry(HKEY uninstall, HKEY arp, const char* mark, int i) {
    char name[64];
    HKEY key = CreateSeedEntry(uninstall, mark, i, name);
    if (key == nullptr) return;
    const std::string n = std::to_string(i);
    SetText(key, "DisplayIcon", "C:\\Program Files\\Bench" + n + "\\app.exe,0");
    SetText(key, "InstallLocation", "C:\\Program Files\\Bench" + n + "\\");
    RegCloseKey(key);
    if (i % 2 != 0) return;
    ArpCacheRecord record;
    ZeroMemory(&record, sizeof(record));
    record.cbSize = sizeof(record);
    record.InstalledSize = 1024LL * (i + 1);
    record.Frequency = i % 10;
    HKEY cache;
    if (RegCreateKeyExA(arp, name, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &cache, nullptr) == ERROR_SUCCESS) {
        RegSetValueExA(cache, "SlowInfoCache", 0, REG_BINARY, reinterpret_cast<const BYTE*>(&record), sizeof(record));
        RegCloseKey(cache);
    }
}

// Seeds the entries numbered 0 to entries - 1 under the Uninstall key with the values
// every seeded entry carries and nothing else.
inline void SeedPlainEntries(const char* mark, int entries) {
    HKEY uninstall = nullptr;
    RegCreateKeyExA(HKEY_CURRENT_USER, UninstallKeyPath.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &uninstall,
                    nullptr);
    for (int i = 0; i < entries; ++i) {
        char name[64];
        if (HKEY key = CreateSeedEntry(uninstall, mark, i, name)) RegCloseKey(key);
    }
    RegCloseKey(uninstall);
}

// The reference: every call a scan cannot avoid, nothing else.
inline int BareLoop() {
    int programs = 0;
    HKEY uninstall = nullptr, arp = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, UninstallKeyPath.c_str(), 0, KEY_READ, &uninstall) != ERROR_SUCCESS) return 0;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, ArpCacheKeyPath.c_str(), 0, KEY_READ, &arp) != ERROR_SUCCESS) arp = nullptr;
    static char valueName[16384];
    static BYTE data[65536];
    for (DWORD index = 0;; ++index) {
        char name[256];
        DWORD length = sizeof(name);
        LONG rc = RegEnumKeyExA(uninstall, index, name, &length, nullptr, nullptr, nullptr, nullptr);
        if (rc == ERROR_NO_MORE_ITEMS) break;
        if (rc != ERROR_SUCCESS) continue;
        HKEY key;
        if (RegOpenKeyExA(uninstall, name, 0, KEY_READ, &key) != ERROR_SUCCESS) continue;
        for (DWORD v = 0;; ++v) {
            DWORD nameLength = sizeof(valueName), dataLength = sizeof(data), type = 0;
            if (RegEnumValueA(key, v, valueName, &nameLength, nullptr, &type, data, &dataLength) != ERROR_SUCCESS) break;
        }
        RegCloseKey(key);
        if (arp) {
            HKEY cache;
            if (RegOpenKeyExA(arp, name, 0, KEY_READ, &cache) == ERROR_SUCCESS) {
                ArpCacheRecord record;
                DWORD size = sizeof(record);
                RegQueryValueExA(cache, "SlowInfoCache", nullptr, nullptr, reinterpret_cast<BYTE*>(&record), &size);
                RegCloseKey(cache);
            }
        }
        ++programs;
    }
    if (arp) RegCloseKey(arp);
    RegCloseKey(uninstall);
    return programs;
}
