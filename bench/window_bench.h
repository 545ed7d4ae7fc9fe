#pragma once
// What the window benchmarks share: the counts the command line gives, the clock, a
// bounded message pump, a visible host window, a timed repaint, the median of the rounds,
// and a file a run of the program's window rewrites kept for the user.
#include <windows.h>
#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

// The count the command line gives at argv[index], when there is one above 0; else the
// fallback.
inline int BenchCountArg(int argc, char** argv, int index, int fallback)
{
    const int n = argc > index ? std::atoi(argv[index]) : 0;
    return n > 0 ? n : fallback;
}

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

// The time between two readings of the performance counter, in milliseconds.
inline double BenchMs(LARGE_INTEGER from, LARGE_INTEGER to)
{
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(to.QuadPart - from.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

// The middle of the rounds' times (of an even count, the upper of the two); 0 for none.
inline double BenchMedian(std::vector<double> v)
{
    if (v.empty())
        return 0.0;
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// A file as it is now, put back by Restore: the program's main window writes its groups
// file when it closes, and the user's stays as it was.
class BenchFileKept
{
public:
    explicit BenchFileKept(const std::string& path)
        : m_path(path), m_bHad(::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES)
    {
        std::ifstream in(path.c_str(), std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        m_bytes = s.str();
    }
    void Restore() const
    {
        ::DeleteFileA(m_path.c_str());
        if (m_bHad)
            std::ofstream(m_path.c_str(), std::ios::binary) << m_bytes;
    }

private:
    std::string m_path;
    bool m_bHad;
    std::string m_bytes;
};
