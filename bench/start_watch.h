#pragma once
// The program's main window watched from its own thread's timer, for the benchmarks that
// start it: when it first stood painted, and its memory then and after a refresh.
//
// A timer message is only taken from the queue when nothing else waits, paints included:
// the first tick with the main window up marks its first full paint. (A hook on every
// message would itself slow the window down.) That tick asks for a refresh as F5 does;
// the refresh runs before the next tick, which closes the window.
#include <windows.h>
#include "framework/framework.h"
#include "res/resource.h"
#include "bench/memory_bench.h"

struct BenchStartWatch {
    LARGE_INTEGER firstIdle = {};
    bool bIdleSeen = false;
    bool bRefreshSeen = false;
    BenchMemory afterStart, afterRefresh;
};

// What the watch saw in the current start.
inline BenchStartWatch& BenchWatched()
{
    static BenchStartWatch watched;
    return watched;
}

inline VOID CALLBACK BenchWatchTick(HWND, UINT, UINT_PTR nIDEvent, DWORD)
{
    BenchStartWatch& w = BenchWatched();
    CWnd* pMain = AfxGetMainWnd();
    if (w.bRefreshSeen || pMain == nullptr || !::IsWindowVisible(pMain->GetSafeHwnd())) return;
    if (!w.bIdleSeen) {
        QueryPerformanceCounter(&w.firstIdle);
        w.bIdleSeen = true;
        w.afterStart = BenchMemoryNow();
        ::PostMessageA(pMain->GetSafeHwnd(), WM_COMMAND, MAKEWPARAM(ID_VIEW_REFRESH, 1), 0);
        return;
    }
    w.afterRefresh = BenchMemoryNow();
    w.bRefreshSeen = true;
    ::KillTimer(NULL, nIDEvent);
    ::PostMessageA(pMain->GetSafeHwnd(), WM_CLOSE, 0, 0);
}

// Forgets the last start and watches the next one: call just before the application
// object's start-up.
inline void BenchWatchStart()
{
    BenchWatched() = BenchStartWatch();
    ::SetTimer(NULL, 0, 1, BenchWatchTick);
}
