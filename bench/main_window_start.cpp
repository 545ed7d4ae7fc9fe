// Start of the program's main window against the least a scan of the same registry must
// do. The window's time runs from the application object's start-up until the first
// timer message reaches the thread with the window up, which is when every window of it
// has painted (a timer message waits behind every paint): the registry scan, filling the
// list once with every row's texts and icons, sorting, and painting the visible part. The
// reference is the bare registry loop over the same keys (enumerate, open, read every
// value and the ARP cache record), timed in the same run.
//
// Memory: the working set once the window is up, against the working set after a
// refresh (F5) of the same list in the same round. The process's peak working set is
// printed beside them. Under Wine the first fill keeps its peak: the blocks the list
// view leaves behind while its row tables grow stay committed until a refill frees the
// rows and the heap joins them (the README's notes); the ratio shows how much that is.
//
// Usage: bench_main_window_start [entries...]   (default 5000 100000; half get an ARP
// cache record)
#include <windows.h>
#include <psapi.h>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>
#include "app/purgelet_app.h"
#include "catalogue/catalogue.h"
#include "catalogue/program_entry.h"
#include "res/resource.h"
#include "support/registry_sandbox.h"
#include "bench/registry_bench.h"
#include "bench/window_bench.h"
#include "bench/start_watch.h"

namespace {

CPurgeletApp s_app;

// Adds the entries numbered first to last - 1.
void Seed(int first, int last)
{
    HKEY uninstall = nullptr, arp = nullptr;
    RegCreateKeyExA(HKEY_CURRENT_USER, UninstallKeyPath.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &uninstall,
                    nullptr);
    RegCreateKeyExA(HKEY_CURRENT_USER, ArpCacheKeyPath.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &arp, nullptr);
    for (int i = first; i < last; ++i) SeedWindowEntry(uninstall, arp, "-START-", i);
    RegCloseKey(arp);
    RegCloseKey(uninstall);
}

double Seconds(LARGE_INTEGER from, LARGE_INTEGER to)
{
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// Best of three starts of the window and of the bare loop over the entries seeded now.
bool Measure(int entries)
{
    const int rounds = 3;
    double bestBare = 1e9, bestStart = 1e9;
    int bareCount = 0;
    std::string starts;  // every round's time: a slower first start is not hidden by the best
    std::string memory;  // every round's working sets after start-up and after the refresh
    BenchMemory firstStart, firstRefresh;
    for (int r = 0; r < rounds; ++r) {
        LARGE_INTEGER t0, t1, t2;
        QueryPerformanceCounter(&t0);
        bareCount = BareLoop();
        QueryPerformanceCounter(&t1);
        BenchWatchStart();
        s_app.InitInstance();
        QueryPerformanceCounter(&t2);
        // Closing the main window asked the thread to quit; the next round runs anyway.
        MSG quit;
        ::PeekMessageA(&quit, NULL, WM_QUIT, WM_QUIT, PM_REMOVE);
        bestBare = std::min(bestBare, Seconds(t0, t1));
        const BenchStartWatch& watched = BenchWatched();
        if (watched.bIdleSeen) bestStart = std::min(bestStart, Seconds(t1, watched.firstIdle));
        char round[32];
        const double ms = watched.bIdleSeen ? Seconds(t1, watched.firstIdle) * 1000.0 : -1.0;
        std::snprintf(round, sizeof(round), "%s%.0f", r > 0 ? ", " : "", ms);
        starts += round;
        char sets[48];
        std::snprintf(sets, sizeof(sets), "%s%.0f/%.0f", r > 0 ? ", " : "", watched.afterStart.workingSet,
                      watched.afterRefresh.workingSet);
        memory += sets;
        if (r == 0) {
            firstStart = watched.afterStart;
            firstRefresh = watched.afterRefresh;
        }
    }
    std::printf("entries seeded:        %d (ARP cache records: %d)\n", entries, (entries + 1) / 2);
    std::printf("bare loop:             %.1f ms (%d keys)\n", bestBare * 1000.0, bareCount);
    std::printf("start to full list:    %.1f ms (rounds: %s ms)\n", bestStart * 1000.0, starts.c_str());
    std::printf("ratio:                 %.2f (start to full list / bare loop, best of %d; goal 1.5)\n",
                bestStart / bestBare, rounds);
    // The first round's figures: the later rounds start on a heap the earlier ones shaped.
    std::printf("working set, started:  %.1f MB (peak so far %.1f MB)\n", firstStart.workingSet, firstStart.peak);
    std::printf("working set, after F5: %.1f MB (peak so far %.1f MB)\n", firstRefresh.workingSet,
                firstRefresh.peak);
    std::printf("memory ratio:          %.2f (started / after F5, first round; rounds, MB "
                "started/after F5: %s)\n",
                firstRefresh.workingSet > 0.0 ? firstStart.workingSet / firstRefresh.workingSet : 0.0,
                memory.c_str());
    return bareCount == entries && bestStart < 1e9 && BenchWatched().bRefreshSeen;
}

}  // namespace

int main(int argc, char** argv)
{
    std::vector<int> sizes;
    for (int i = 1; i < argc; ++i)
        if (std::atoi(argv[i]) > 0) sizes.push_back(std::atoi(argv[i]));
    if (sizes.empty()) sizes = {5000, 100000};
    std::sort(sizes.begin(), sizes.end());
    AfxWinInit(::GetModuleHandleA(NULL), NULL, const_cast<LPSTR>(""), SW_SHOWNORMAL);

    testsupport::RegistrySandbox box;
    if (!box.Override(HKEY_CURRENT_USER, "HKCU") || !box.Override(HKEY_LOCAL_MACHINE, "HKLM")) {
        std::printf("could not redirect the registry roots\n");
        return 1;
    }
    const BenchFileKept groupsFile(GetGroupsFilePath());

    // Each size adds to the entries of the one before.
    bool bOk = true;
    int seeded = 0;
    for (int entries : sizes) {
        Seed(seeded, entries);
        seeded = entries;
        bOk = Measure(entries) && bOk;
    }
    box.RestoreOverrides();
    groupsFile.Restore();
    return bOk ? 0 : 2;
}
