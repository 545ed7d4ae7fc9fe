// Memory of the started program when the machine's programs lie in both registry views,
// against the same programs in one view. Each layout is seeded under the machine's real
// Uninstall key (a redirected root has one key for both views under Wine), the program's
// main window is started in a process of its own (a fresh heap), and the process reports
// its memory once the window is up and again after a refresh (F5); then the seeded keys
// go again. The reference is the one-view layout, measured in the same run.
//
// Usage: bench_views_memory [entries]   (default 100000; half get an ARP cache record)
//        bench_views_memory --seed|--unseed 0|1 entries, then --window: one layout (1: split)
//        seeded, or taken away, and the window measured over it alone.
#include <windows.h>
#include <psapi.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include "app/purgelet_app.h"
#include "catalogue/program_entry.h"
#include "res/resource.h"
#include "support/registry_sandbox.h"
#include "bench/registry_bench.h"
#include "bench/window_bench.h"
#include "bench/start_watch.h"

namespace {

CPurgeletApp s_app;

const char kWindowArg[] = "--window";

// Where entry i of `entries` lies: all in the 64-bit view, or its second half in the
// 32-bit view.
REGSAM ViewOf(bool split, int i, int entries)
{
    return split && i >= entries / 2 ? KEY_WOW64_32KEY : KEY_WOW64_64KEY;
}

HKEY OpenMachineKey(const std::string& path, REGSAM view)
{
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS | view, nullptr, &key,
                        nullptr) != ERROR_SUCCESS)
        return nullptr;
    return key;
}

// Seeds the entries (bSeed) or deletes them again.
void Seed(bool split, int entries, bool bSeed)
{
    HKEY uninstall[2], arp[2];
    const REGSAM views[2] = {KEY_WOW64_64KEY, KEY_WOW64_32KEY};
    for (int v = 0; v < 2; ++v) {
        uninstall[v] = OpenMachineKey(UninstallKeyPath, views[v]);
        arp[v] = OpenMachineKey(ArpCacheKeyPath, views[v]);
    }
    for (int i = 0; i < entries; ++i) {
        const int v = ViewOf(split, i, entries) == KEY_WOW64_32KEY ? 1 : 0;
        char name[64];
        if (!bSeed) {
            SeedEntryName("-VIEWS-", i, name);
            RegDeleteTreeA(uninstall[v], name);
            RegDeleteTreeA(arp[v], name);
            continue;
        }
        SeedWindowEntry(uninstall[v], arp[v], "-VIEWS-", i);
    }
    for (int v = 0; v < 2; ++v) {
        if (uninstall[v]) RegCloseKey(uninstall[v]);
        if (arp[v]) RegCloseKey(arp[v]);
    }
}

// The child: the program's window over the machine's programs; prints its figures.
int MeasureWindow()
{
    AfxWinInit(::GetModuleHandleA(NULL), NULL, const_cast<LPSTR>(""), SW_SHOWNORMAL);
    // The user's own programs and options stay out of it; the machine's are the seeded ones.
    testsupport::RegistrySandbox box;
    if (!box.Override(HKEY_CURRENT_USER, "HKCU")) return 1;
    const BenchFileKept groupsFile(GetGroupsFilePath());
    BenchWatchStart();
    s_app.InitInstance();
    box.RestoreOverrides();
    groupsFile.Restore();
    const BenchStartWatch& watched = BenchWatched();
    if (!watched.bRefreshSeen) return 2;
    std::printf("%.1f %.1f %.1f %.1f\n", watched.afterStart.workingSet, watched.afterStart.privateBytes,
                watched.afterRefresh.workingSet, watched.afterRefresh.privateBytes);
    return 0;
}

// Runs this program again as the child; its figures, or false.
bool RunWindow(BenchMemory& started, BenchMemory& refreshed)
{
    char path[MAX_PATH];
    ::GetModuleFileNameA(NULL, path, MAX_PATH);
    std::string command = std::string("\"") + path + "\" " + kWindowArg;
    SECURITY_ATTRIBUTES sa = {sizeof(sa), nullptr, TRUE};
    HANDLE readEnd = nullptr, writeEnd = nullptr;
    if (!CreatePipe(&readEnd, &writeEnd, &sa, 0)) return false;
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOA si = {};
    si.cb = sizeof(si);
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdOutput = writeEnd;
    si.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    si.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    PROCESS_INFORMATION pi = {};
    const BOOL bStarted = CreateProcessA(nullptr, &command[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi);
    CloseHandle(writeEnd);
    std::string output;
    if (bStarted) {
        char buf[256];
        DWORD got = 0;
        while (ReadFile(readEnd, buf, sizeof(buf), &got, nullptr) && got) output.append(buf, got);
        WaitForSingleObject(pi.hProcess, INFINITE);
        CloseHandle(pi.hThread);
        CloseHandle(pi.hProcess);
    }
    CloseHandle(readEnd);
    return std::sscanf(output.c_str(), "%lf %lf %lf %lf", &started.workingSet, &started.privateBytes,
                       &refreshed.workingSet, &refreshed.privateBytes) == 4;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc > 1 && std::strcmp(argv[1], kWindowArg) == 0) return MeasureWindow();
    // Seeding takes longer than a start: one layout seeded once is measured over several builds.
    for (const bool bSeed : {true, false})
        if (argc > 3 && std::strcmp(argv[1], bSeed ? "--seed" : "--unseed") == 0) {
            Seed(std::atoi(argv[2]) != 0, std::atoi(argv[3]), bSeed);
            return 0;
        }
    const int entries = BenchCountArg(argc, argv, 1, 100000);
    BenchMemory started[2], refreshed[2];
    bool bOk = true;
    for (int split = 0; split < 2; ++split) {
        Seed(split != 0, entries, true);
        bOk = RunWindow(started[split], refreshed[split]) && bOk;
        Seed(split != 0, entries, false);
        std::printf("%-22s started %.1f MB (private %.1f), after F5 %.1f MB (private %.1f)\n",
                    split ? "half in the 32-bit view:" : "all in one view:", started[split].workingSet,
                    started[split].privateBytes, refreshed[split].workingSet, refreshed[split].privateBytes);
    }
    std::printf("entries:               %d (ARP cache records: %d)\n", entries, (entries + 1) / 2);
    std::printf("memory ratio:          %.2f started, %.2f after F5 (two views / one view; goal 1.0)\n",
                started[0].workingSet > 0.0 ? started[1].workingSet / started[0].workingSet : 0.0,
                refreshed[0].workingSet > 0.0 ? refreshed[1].workingSet / refreshed[0].workingSet : 0.0);
    return bOk ? 0 : 2;
}
