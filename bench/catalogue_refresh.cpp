// Refresh of the program catalogue against the least a scan of the same registry must do:
// enumerate the Uninstall subkeys, open each, enumerate all its values, and read its ARP
// cache record. Under Wine every registry call is a round trip to the wine server, so the
// ratio says how many calls the catalogue spends beyond that.
//
// Usage: bench_catalogue_refresh [entries]   (default 2000; half get an ARP cache record)
#include <windows.h>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>
#include "catalogue/catalogue.h"
#include "support/registry_sandbox.h"

namespace {

class CountingView : public IUninstallManager {
public:
    void AddProgram(ProgramEntry*) override { ++count; }
    int count = 0;
};

void SetText(HKEY key, const char* name, const std::string& text) {
    RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                   static_cast<DWORD>(text.size() + 1));
}

void Seed(int entries) {
    HKEY uninstall = nullptr, arp = nullptr;
    RegCreateKeyExA(HKEY_CURRENT_USER, UninstallKeyPath.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &uninstall,
                    nullptr);
    RegCreateKeyExA(HKEY_CURRENT_USER, ArpCacheKeyPath.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &arp, nullptr);
    for (int i = 0; i < entries; ++i) {
        char name[64];
        std::snprintf(name, sizeof(name), "{%08X-BENCH-%04d}", static_cast<unsigned>(i * 2654435761u), i);
        HKEY key;
        if (RegCreateKeyExA(uninstall, name, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) != ERROR_SUCCESS)
            continue;
        const std::string n = std::to_string(i);
        SetText(key, "DisplayName", "Benchmark Program " + n);
        SetText(key, "UninstallString", "\"C:\\Program Files\\Bench" + n + "\\unins000.exe\"");
        SetText(key, "Publisher", "Bench Publisher " + std::to_string(i % 37));
        SetText(key, "DisplayIcon", "C:\\Program Files\\Bench" + n + "\\app.exe,0");
        SetText(key, "InstallLocation", "C:\\Program Files\\Bench" + n + "\\");
        SetText(key, "InstallDate", "20240101");
        SetText(key, "HelpLink", "http://example.com/help/" + n);
        SetText(key, "DisplayVersion", "1.0." + n);
        const DWORD size = 1000 + i;
        RegSetValueExA(key, "EstimatedSize", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&size), sizeof(size));
        RegCloseKey(key);
        if (i % 2 == 0) {
            ArpCacheRecord record;
            ZeroMemory(&record, sizeof(record));
            record.cbSize = sizeof(record);
            record.HasName = 1;
            record.InstalledSize = 1024LL * (i + 1);
            record.Frequency = i % 10;
            std::swprintf(record.Name, 262, L"C:\\Program Files\\Bench%d\\app.exe", i);
            HKEY cache;
            if (RegCreateKeyExA(arp, name, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &cache, nullptr) == ERROR_SUCCESS) {
                RegSetValueExA(cache, "SlowInfoCache", 0, REG_BINARY, reinterpret_cast<const BYTE*>(&record),
                               sizeof(record));
                RegCloseKey(cache);
            }
        }
    }
    RegCloseKey(arp);
    RegCloseKey(uninstall);
}

// The reference: every call a scan cannot avoid, nothing else.
int BareLoop() {
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

double Seconds(LARGE_INTEGER from, LARGE_INTEGER to) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

}  // namespace

int main(int argc, char** argv) {
    int entries = argc > 1 ? std::atoi(argv[1]) : 2000;
    if (entries <= 0) entries = 2000;

    testsupport::RegistrySandbox box;
    // The machine root points at an empty key so that only the seeded entries are read.
    if (!box.Override(HKEY_CURRENT_USER, "HKCU") || !box.Override(HKEY_LOCAL_MACHINE, "HKLM")) {
        std::printf("could not redirect the registry roots\n");
        return 1;
    }
    Seed(entries);

    // Alternating runs, best of each: the first pass also warms the server's caches.
    const int rounds = 5;
    double bestBare = 1e9, bestRefresh = 1e9;
    int bareCount = 0, refreshCount = 0;
    CVrelPurgelet catalogue;
    for (int r = 0; r < rounds; ++r) {
        LARGE_INTEGER t0, t1, t2;
        QueryPerformanceCounter(&t0);
        bareCount = BareLoop();
        QueryPerformanceCounter(&t1);
        CountingView view;
        catalogue.Refresh(&view);
        QueryPerformanceCounter(&t2);
        refreshCount = view.count;
        bestBare = std::min(bestBare, Seconds(t0, t1));
        bestRefresh = std::min(bestRefresh, Seconds(t1, t2));
    }
    box.RestoreOverrides();

    std::printf("entries seeded:   %d (ARP cache records: %d)\n", entries, (entries + 1) / 2);
    std::printf("bare loop:        %.1f ms (%d keys)\n", bestBare * 1000.0, bareCount);
    std::printf("Refresh:          %.1f ms (%d entries)\n", bestRefresh * 1000.0, refreshCount);
    std::printf("ratio:            %.2f (Refresh / bare loop, best of %d)\n", bestRefresh / bestBare, rounds);
    return bareCount == entries && refreshCount == entries ? 0 : 2;
}
