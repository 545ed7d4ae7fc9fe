// Refresh of the program catalogue against the least a scan of the same registry must do
// (enumerate the Uninstall subkeys, open each, enumerate all its values, and read its ARP
// cache record), and against the platform's own uninstaller listing the same entries
// ("uninstaller.exe --list", which reads fewer values and no ARP record). Under Wine every
// registry call is a round trip to the wine server.
//
// The entries are seeded under the current user's real Uninstall key, where the platform's
// uninstaller looks, and removed afterwards; the machine root of this process points at
// an empty key. The uninstaller's time is given whole and without its start-up (a run
// before seeding, over the same registry less the seeded entries).
//
// Usage: bench_catalogue_refresh [entries]   (default 5000; half get an ARP cache record)
#include <windows.h>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>
#include "catalogue/catalogue.h"
#include "support/registry_sandbox.h"
#include "bench/registry_bench.h"

namespace {

class CountingView : public IUninstallManager {
public:
    void AddProgram(ProgramEntry*) override { ++count; }
    int count = 0;
};

const char kSeedMark[] = "-BENCH-";

// Removes the seeded subkeys (and any a broken run left behind) from both keys.
void Unseed() {
    for (const std::string& path : {UninstallKeyPath, ArpCacheKeyPath}) {
        HKEY key = nullptr;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) continue;
        std::vector<std::string> names;
        char name[256];
        for (DWORD i = 0;; ++i) {
            DWORD length = sizeof(name);
            if (RegEnumKeyExA(key, i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
            if (std::strstr(name, kSeedMark)) names.push_back(name);
        }
        for (const std::string& n : names) RegDeleteTreeA(key, n.c_str());
        RegCloseKey(key);
    }
}

// One run of the platform's uninstaller listing the programs; its output goes nowhere.
double PlatformListing() {
    SECURITY_ATTRIBUTES sa = {sizeof(sa), nullptr, TRUE};
    HANDLE nul = CreateFileA("NUL", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &sa, OPEN_EXISTING, 0, nullptr);
    STARTUPINFOA si = {};
    si.cb = sizeof(si);
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdOutput = si.hStdError = nul;
    PROCESS_INFORMATION pi = {};
    char command[] = "uninstaller.exe --list";
    LARGE_INTEGER t0, t1, frequency;
    QueryPerformanceCounter(&t0);
    BOOL started = CreateProcessA(nullptr, command, nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi);
    if (started) {
        WaitForSingleObject(pi.hProcess, INFINITE);
        CloseHandle(pi.hThread);
        CloseHandle(pi.hProcess);
    }
    QueryPerformanceCounter(&t1);
    if (nul != INVALID_HANDLE_VALUE) CloseHandle(nul);
    QueryPerformanceFrequency(&frequency);
    return started ? static_cast<double>(t1.QuadPart - t0.QuadPart) / static_cast<double>(frequency.QuadPart) : -1.0;
}

void Seed(int entries) {
    HKEY uninstall = nullptr, arp = nullptr;
    RegCreateKeyExA(HKEY_CURRENT_USER, UninstallKeyPath.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &uninstall,
                    nullptr);
    RegCreateKeyExA(HKEY_CURRENT_USER, ArpCacheKeyPath.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &arp, nullptr);
    for (int i = 0; i < entries; ++i) {
        char name[64];
        HKEY key = CreateSeedEntry(uninstall, kSeedMark, i, name);
        if (key == nullptr)
            continue;
        const std::string n = std::to_string(i);
        SetText(key, "DisplayIcon", "C:\\Program Files\\Bench" + n + "\\app.exe,0");
        SetText(key, "InstallLocation", "C:\\Program Files\\Bench" + n + "\\");
        SetText(key, "InstallDate", "20240101");
        SetText(key, "HelpLink", "http://example.com/help/" + n);
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

double Seconds(LARGE_INTEGER from, LARGE_INTEGER to) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

}  // namespace

int main(int argc, char** argv) {
    int entries = argc > 1 ? std::atoi(argv[1]) : 5000;
    if (entries <= 0) entries = 5000;

    testsupport::RegistrySandbox box;
    // The machine root points at an empty key so that only the seeded entries are read.
    if (!box.Override(HKEY_LOCAL_MACHINE, "HKLM")) {
        std::printf("could not redirect the machine root\n");
        return 1;
    }
    Unseed();
    const int rounds = 5;
    double bestStartup = 1e9;
    for (int r = 0; r < 2; ++r) bestStartup = std::min(bestStartup, PlatformListing());
    Seed(entries);

    // Alternating runs, best of each: the first pass also warms the server's caches.
    double bestBare = 1e9, bestRefresh = 1e9, bestPlatform = 1e9;
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
        bestPlatform = std::min(bestPlatform, PlatformListing());
    }
    Unseed();
    box.RestoreOverrides();

    const double platformNet = bestPlatform - bestStartup;
    std::printf("entries seeded:   %d (ARP cache records: %d)\n", entries, (entries + 1) / 2);
    std::printf("bare loop:        %.1f ms (%d keys)\n", bestBare * 1000.0, bareCount);
    std::printf("Refresh:          %.1f ms (%d entries)\n", bestRefresh * 1000.0, refreshCount);
    std::printf("platform listing: %.1f ms whole, %.1f ms start-up, %.1f ms listing\n", bestPlatform * 1000.0,
                bestStartup * 1000.0, platformNet * 1000.0);
    std::printf("ratio:            %.2f (Refresh / bare loop, best of %d)\n", bestRefresh / bestBare, rounds);
    std::printf("ratio:            %.2f (Refresh / platform listing whole), %.2f (without its start-up)\n",
                bestRefresh / bestPlatform, platformNet > 0 ? bestRefresh / platformNet : 0.0);
    return bareCount == entries && refreshCount == entries && bestPlatform > 0 ? 0 : 2;
}
