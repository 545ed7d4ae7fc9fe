// Loading and saving the groups file as the program does after each change (one keyword
// added to one group, as Add to Group does, then a save), for files of 200 and 2,000
// groups of 20 keywords each: the time of a load and of a save, and the working set
// after the first save and after twenty. A save that keeps what it made alive grows the
// working set save by save; the twentieth should stand within 2 MB of the first. A save
// starts from the reading the load or the save before it made of the file, while the
// file holds those bytes; the first save after the load is shown on its own.
//
// The figures are the program's own; to compare two builds, build this file in each and
// run the two in turn (it uses only the groups model's Load and Save).
//
// Usage: bench_groups_save [saves]   (default 20)
#include <windows.h>
#include <psapi.h>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>
#include "groups_bench.h"
#include "window_bench.h"

namespace {

double WorkingSetMb() {
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof(counters);
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof(counters));
    return static_cast<double>(counters.WorkingSetSize) / (1024.0 * 1024.0);
}

}  // namespace

int main(int argc, char** argv) {
    int saves = argc > 1 ? std::atoi(argv[1]) : 20;
    if (saves < 2) saves = 20;
    const std::string path =
        GroupsBenchPath("purgelet_bench_groups_save-" + std::to_string(GetCurrentProcessId()) + ".xml");
    // A program reads its file once, at its start: the loads take turns with a copy of the
    // file elsewhere, so that none starts from the reading of the one before.
    const std::string copy = path + ".copy.xml";
    CGroupManager* m = CGroupManager::GetInstance();
    for (int groups : {200, 2000}) {
        for (const std::string* file : {&copy, &path})
            if (!GroupsBenchWriteFile(*file, groups, 20, [](int i, int k) {
                    return "program " + std::to_string(i) + "-" + std::to_string(k);
                }))
                return 1;
        std::vector<double> loads;
        for (int r = 0; r < 5; ++r) {
            m->Clear();
            const double t0 = BenchNow();
            m->Load((r % 2 ? copy : path).c_str());
            loads.push_back(BenchNow() - t0);
        }
        if (m->m_Groups.size() != static_cast<size_t>(groups) + 1) {
            std::printf("%d groups: the file read back %u groups\n", groups, static_cast<unsigned>(m->m_Groups.size() - 1));
            return 1;
        }
        std::vector<double> times;
        double firstSet = 0.0, lastSet = 0.0;
        for (int s = 0; s < saves; ++s) {
            GroupEntry* group = m->m_Groups[1 + (s * 37) % groups];
            group->AddKeyword(("added " + std::to_string(s)).c_str());
            const double t0 = BenchNow();
            if (!m->Save(path.c_str())) {
                std::printf("%d groups: save %d failed\n", groups, s + 1);
                return 1;
            }
            times.push_back(BenchNow() - t0);
            if (s == 0) firstSet = WorkingSetMb();
            lastSet = WorkingSetMb();
        }
        std::printf("%5d groups x 20 keywords: load %7.1f ms (median %7.1f); save %7.1f ms (median %7.1f, first "
                    "%7.1f); working set after save 1 %6.1f MB, after save %d %6.1f MB (%+.1f MB)\n",
                    groups, *std::min_element(loads.begin(), loads.end()) * 1000.0, BenchMedian(loads) * 1000.0,
                    *std::min_element(times.begin(), times.end()) * 1000.0, BenchMedian(times) * 1000.0,
                    times.front() * 1000.0, firstSet, saves, lastSet, lastSet - firstSet);
        m->Clear();
    }
    DeleteFileA(path.c_str());
    DeleteFileA(copy.c_str());
    return 0;
}
