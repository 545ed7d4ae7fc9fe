#pragma once
// What the window benchmarks share: the clock, a bounded message pump, a visible host
// window and a timed repaint.
#include <windows.h>

inline double BenchNow()
{
    static LARGE_INTEGER freq = {};
    if (freq.QuadPart == 0)
        QueryPerformanceFrequency(&freq);
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return (double)t.QuadPart / (double)freq.QuadPart;
}

inline void BenchPump()
{
    MSG msg;
    for (int i = 0; i < 10000 && ::PeekMessage(&msg, NULL, 0, 0, PM_REMOVE); i++)
    {
        ::TranslateMessage(&msg);
        ::DispatchMessage(&msg);
    }
}

// A visible top-level window of the given size at the screen's origin, activated.
inline HWND BenchMakeHost(const char* sTitle, int nWidth, int nHeight)
{
    HWND hWnd = ::CreateWindowExA(0, "STATIC", sTitle, WS_POPUP | WS_VISIBLE, 0, 0, nWidth, nHeight, NULL, NULL,
                                  NULL, NULL);
    ::SetActiveWindow(hWnd);
    BenchPump();
    return hWnd;
}

// Repaints the whole window now; the time it takes.
inline double BenchPaintNow(HWND hWnd)
{
    const double t0 = BenchNow();
    ::RedrawWindow(hWnd, NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    ::GdiFlush();
    return BenchNow() - t0;
}
