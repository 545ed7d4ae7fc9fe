// Working set of a list view that holds its own rows (no LVS_OWNERDATA), filled with
// the program list's five columns: after the first fill in a fresh process, against a
// refill of the same rows after LVM_DELETEALLITEMS in the same process (the reference:
// what F5 reaches in the program). Each way of filling runs in a child process of its
// own, so that each first fill meets a fresh heap: rows inserted one by one as the
// program list inserts them, and the same told the row count first (LVM_SETITEMCOUNT,
// which the platform documents as sizing the list's tables for that many rows).
//
// Usage: bench_list_view_rows [rows]   (default 100000)
#include <windows.h>
#include <commctrl.h>
#include <psapi.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

double WorkingSetMb()
{
    PROCESS_MEMORY_COUNTERS counters;
    ZeroMemory(&counters, sizeof(counters));
    counters.cb = sizeof(counters);
    if (!::GetProcessMemoryInfo(::GetCurrentProcess(), &counters, sizeof(counters))) return 0.0;
    return static_cast<double>(counters.WorkingSetSize) / (1024.0 * 1024.0);
}

void Fill(HWND hList, int rows, bool bToldCount)
{
    if (bToldCount) ::SendMessageA(hList, LVM_SETITEMCOUNT, rows, LVSICF_NOINVALIDATEALL | LVSICF_NOSCROLL);
    char text[64];
    for (int i = 0; i < rows; ++i) {
        std::snprintf(text, sizeof(text), "Benchmark Program %d", i);
        LVITEMA item = {};
        item.mask = LVIF_TEXT | LVIF_PARAM;
        item.iItem = i;
        item.pszText = text;
        item.lParam = i;
        const int nRow = (int)::SendMessageA(hList, LVM_INSERTITEMA, 0, (LPARAM)&item);
        for (int nColumn = 1; nColumn < 5; ++nColumn) {
            LVITEMA cell = {};
            cell.iSubItem = nColumn;
            cell.pszText = text;
            ::SendMessageA(hList, LVM_SETITEMTEXTA, nRow, (LPARAM)&cell);
        }
    }
}

// One way of filling, in this process: prints "first refill" working sets in MB.
int RunChild(int rows, bool bToldCount)
{
    ::InitCommonControls();
    HWND hList = ::CreateWindowExA(0, WC_LISTVIEWA, "", WS_POPUP | LVS_REPORT | LVS_SINGLESEL, 0, 0, 600, 400, NULL,
                                   NULL, NULL, NULL);
    if (hList == NULL) return 1;
    for (int nColumn = 0; nColumn < 5; ++nColumn) {
        LVCOLUMNA column = {};
        column.mask = LVCF_WIDTH;
        column.cx = 100;
        ::SendMessageA(hList, LVM_INSERTCOLUMNA, nColumn, (LPARAM)&column);
    }
    ::SendMessageA(hList, WM_SETREDRAW, FALSE, 0);
    Fill(hList, rows, bToldCount);
    const double first = WorkingSetMb();
    ::SendMessageA(hList, LVM_DELETEALLITEMS, 0, 0);
    Fill(hList, rows, bToldCount);
    const double refill = WorkingSetMb();
    ::DestroyWindow(hList);
    std::printf("%.1f %.1f\n", first, refill);
    return 0;
}

// Runs this program again as a child for one way of filling and reads its two figures.
bool RunWay(int rows, const char* way, double& first, double& refill)
{
    char path[MAX_PATH];
    if (!::GetModuleFileNameA(NULL, path, MAX_PATH)) return false;
    char command[MAX_PATH + 64];
    std::snprintf(command, sizeof(command), "\"%s\" %d %s", path, rows, way);
    SECURITY_ATTRIBUTES sa = {sizeof(sa), NULL, TRUE};
    HANDLE hRead = NULL, hWrite = NULL;
    if (!::CreatePipe(&hRead, &hWrite, &sa, 0)) return false;
    ::SetHandleInformation(hRead, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOA si = {};
    si.cb = sizeof(si);
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdOutput = hWrite;
    si.hStdError = hWrite;
    PROCESS_INFORMATION pi = {};
    const BOOL bStarted = ::CreateProcessA(NULL, command, NULL, NULL, TRUE, 0, NULL, NULL, &si, &pi);
    ::CloseHandle(hWrite);
    char output[256] = {};
    DWORD nTotal = 0, nRead = 0;
    while (bStarted && nTotal < sizeof(output) - 1 &&
           ::ReadFile(hRead, output + nTotal, (DWORD)(sizeof(output) - 1 - nTotal), &nRead, NULL) && nRead > 0)
        nTotal += nRead;
    ::CloseHandle(hRead);
    if (!bStarted) return false;
    ::WaitForSingleObject(pi.hProcess, INFINITE);
    ::CloseHandle(pi.hThread);
    ::CloseHandle(pi.hProcess);
    return std::sscanf(output, "%lf %lf", &first, &refill) == 2;
}

}  // namespace

int main(int argc, char** argv)
{
    int rows = argc > 1 ? std::atoi(argv[1]) : 100000;
    if (rows <= 0) rows = 100000;
    if (argc > 2) return RunChild(rows, std::strcmp(argv[2], "told") == 0);

    double first = 0.0, refill = 0.0, toldFirst = 0.0, toldRefill = 0.0;
    const bool bOk = RunWay(rows, "plain", first, refill) && RunWay(rows, "told", toldFirst, toldRefill);
    std::printf("rows:                  %d, five columns\n", rows);
    std::printf("one by one:            %.1f MB after the first fill, %.1f MB after a refill (reference)\n", first,
                refill);
    std::printf("told the count first:  %.1f MB after the first fill, %.1f MB after a refill\n", toldFirst,
                toldRefill);
    if (bOk && refill > 0.0 && toldRefill > 0.0)
        std::printf("ratio:                 %.2f one by one, %.2f told the count (first fill / refill; goal 1.1)\n",
                    first / refill, toldFirst / toldRefill);
    return bOk ? 0 : 2;
}
