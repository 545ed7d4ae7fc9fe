#pragma once
// The memory figures the window benchmarks print: of the process now, in MB.
#include <windows.h>
#include <psapi.h>

struct BenchMemory {
    double workingSet = 0.0;
    double peak = 0.0;          // the peak working set
    double privateBytes = 0.0;  // the committed private bytes
};

inline BenchMemory BenchMemoryNow()
{
    PROCESS_MEMORY_COUNTERS_EX counters;
    ZeroMemory(&counters, sizeof(counters));
    counters.cb = sizeof(counters);
    BenchMemory figures;
    if (::GetProcessMemoryInfo(::GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                               sizeof(counters))) {
        const double mb = 1024.0 * 1024.0;
        figures.workingSet = static_cast<double>(counters.WorkingSetSize) / mb;
        figures.peak = static_cast<double>(counters.PeakWorkingSetSize) / mb;
        // Wine fills the commit charge only in PagefileUsage.
        const SIZE_T committed =
            counters.PrivateUsage > counters.PagefileUsage ? counters.PrivateUsage : counters.PagefileUsage;
        figures.privateBytes = static_cast<double>(committed) / mb;
    }
    return figures;
}
