// The grid window showing 10 columns of text from its memory data provider: the first
// paint and paging down, against the platform's own list view in virtual mode (owner
// data, texts given on request) showing the same rows in a window of the same size, in
// one run. Each is measured at 10,000 and 100,000 rows, near the top and near the end,
// so a cost per page that grows with the number of rows or with the place shows.
#include <stdio.h>

#include <algorithm>
#include <functional>
#include <vector>

#include "bench/window_bench.h"
#include "framework/framework.h"
#include "toolkit/grid/grid_cell_string.h"
#include "toolkit/grid/grid_wnd.h"

namespace {

const int kColumns = 10;
const int kPages = 40;
const int kRounds = 3;  // the best of these rounds counts
const int kWidth = 800, kHeight = 600;

void FormatCell(char* s, size_t n, int nRow, int nCol) { snprintf(s, n, "Row %d, item %d", nRow, nCol); }

HWND MakeHost(const char* sTitle) { return BenchMakeHost(sTitle, kWidth, kHeight); }

struct Figures
{
    double tFirstPaint = 0, tPageTop = 0, tPageEnd = 0;
};

// kPages pages down from the current place, each painted at once; the median seconds
// of one page (the machine is shared: a median shrugs off the pages another load hit).
double PageDown(HWND hWndScroll)
{
    std::vector<double> arrTimes;
    for (int i = 0; i < kPages; i++)
    {
        const double t0 = BenchNow();
        ::SendMessage(hWndScroll, WM_VSCROLL, SB_PAGEDOWN, 0);
        ::UpdateWindow(hWndScroll);
        ::GdiFlush();
        arrTimes.push_back(BenchNow() - t0);
    }
    std::sort(arrTimes.begin(), arrTimes.end());
    return arrTimes[arrTimes.size() / 2];
}

Figures MeasureGrid(int nRows)
{
    Figures f;
    HWND hHost = MakeHost("grid");
    CExtGridWnd* pGrid = new CExtGridWnd;
    if (!pGrid->Create(CWnd::FromHandle(hHost), CRect(0, 0, kWidth, kHeight), 1, 0xA | 0x4000000 | 0x8000000,
                       WS_CHILD | WS_VISIBLE))
    {
        printf("grid window not created\n");
        ::DestroyWindow(hHost);
        delete pGrid;
        return f;
    }
    pGrid->SetTopOuterRowCount(1, false);
    pGrid->InsertColumns(0, kColumns, false);
    pGrid->InsertRows(0, nRows, false);
    char s[64];
    for (int c = 0; c < kColumns; c++)
    {
        CExtGridCell* pHeader = pGrid->GridCellGet(c, 0, 0, -1, RUNTIME_CLASS(CExtGridCellString));
        snprintf(s, sizeof(s), "Column %d", c);
        if (pHeader != NULL)
            pHeader->TextSet(s);
        for (int r = 0; r < nRows; r++)
        {
            CExtGridCell* pCell = pGrid->GridCellGet(c, r, 0, 0, RUNTIME_CLASS(CExtGridCellString));
            FormatCell(s, sizeof(s), r, c);
            if (pCell != NULL)
                pCell->TextSet(s);
        }
    }
    pGrid->UpdateScrollBars();
    BenchPump();
    f.tFirstPaint = BenchPaintNow(pGrid->m_hWnd);
    int nFirst = 0, nLast = -1, nOffset = 0;
    pGrid->GetVisibleRowRange(nFirst, nLast, nOffset);
    const int nPerPage = nLast - nFirst + 1;
    // Near the top, and near the end (the last of the pages shows the last rows).
    const int nStarts[2] = {0, std::max(0, nRows - (kPages + 1) * nPerPage)};
    double* pTimes[2] = {&f.tPageTop, &f.tPageEnd};
    for (int nRound = 0; nRound < kRounds; nRound++)
        for (int i = 0; i < 2; i++)
        {
            pGrid->SendMessage(WM_VSCROLL, SB_TOP, 0);
            pGrid->EnsureRowVisible(nStarts[i] + nPerPage - 1, false);
            ::UpdateWindow(pGrid->m_hWnd);
            const double t = PageDown(pGrid->m_hWnd);
            if (nRound == 0 || t < *pTimes[i])
                *pTimes[i] = t;
        }
    pGrid->GetVisibleRowRange(nFirst, nLast, nOffset);
    printf("  grid window %7d rows: %d rows a page, the last page shows rows %d to %d\n", nRows, nPerPage, nFirst,
           nLast);
    pGrid->DestroyWindow();
    delete pGrid;
    ::DestroyWindow(hHost);
    BenchPump();
    return f;
}

// The list view's owner: answers the texts of the shown rows.
LRESULT CALLBACK ListHostProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    if (nMsg == WM_NOTIFY)
    {
        NMLVDISPINFOA* pInfo = (NMLVDISPINFOA*)lParam;
        if (pInfo->hdr.code == LVN_GETDISPINFOA && (pInfo->item.mask & LVIF_TEXT) && pInfo->item.pszText != NULL)
        {
            FormatCell(pInfo->item.pszText, (size_t)pInfo->item.cchTextMax, pInfo->item.iItem, pInfo->item.iSubItem);
            return 0;
        }
    }
    return ::DefWindowProcA(hWnd, nMsg, wParam, lParam);
}

Figures MeasureListView(int nRows)
{
    Figures f;
    WNDCLASSA wc = {};
    wc.lpfnWndProc = ListHostProc;
    wc.hInstance = ::GetModuleHandle(NULL);
    wc.lpszClassName = "GridBenchListHost";
    wc.hbrBackground = (HBRUSH)(COLOR_WINDOW + 1);
    ::RegisterClassA(&wc);
    HWND hHost = ::CreateWindowExA(0, wc.lpszClassName, "list", WS_POPUP | WS_VISIBLE, 0, 0, kWidth, kHeight, NULL,
                                   NULL, wc.hInstance, NULL);
    ::SetActiveWindow(hHost);
    HWND hList = ::CreateWindowExA(0, WC_LISTVIEWA, "", WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_OWNERDATA, 0, 0,
                                   kWidth, kHeight, hHost, (HMENU)1, wc.hInstance, NULL);
    char s[64];
    for (int c = 0; c < kColumns; c++)
    {
        LVCOLUMNA col = {};
        col.mask = LVCF_TEXT | LVCF_WIDTH;
        col.cx = 60;
        snprintf(s, sizeof(s), "Column %d", c);
        col.pszText = s;
        ::SendMessageA(hList, LVM_INSERTCOLUMNA, c, (LPARAM)&col);
    }
    ::SendMessageA(hList, LVM_SETITEMCOUNT, nRows, 0);
    BenchPump();
    f.tFirstPaint = BenchPaintNow(hList);
    const int nPerPage = (int)::SendMessageA(hList, LVM_GETCOUNTPERPAGE, 0, 0);
    const int nStarts[2] = {0, std::max(0, nRows - (kPages + 1) * nPerPage)};
    double* pTimes[2] = {&f.tPageTop, &f.tPageEnd};
    for (int nRound = 0; nRound < kRounds; nRound++)
        for (int i = 0; i < 2; i++)
        {
            ::SendMessageA(hList, WM_VSCROLL, SB_TOP, 0);
            ::SendMessageA(hList, LVM_ENSUREVISIBLE, nStarts[i] + nPerPage - 1, FALSE);
            ::UpdateWindow(hList);
            const double t = PageDown(hList);
            if (nRound == 0 || t < *pTimes[i])
                *pTimes[i] = t;
        }
    const int nTop = (int)::SendMessageA(hList, LVM_GETTOPINDEX, 0, 0);
    printf("  list view   %7d rows: %d rows a page, the last page shows rows %d to %d\n", nRows, nPerPage, nTop,
           nTop + nPerPage - 1);
    ::DestroyWindow(hHost);
    BenchPump();
    return f;
}

void Report(const char* sWhat, int nRows, const Figures& grid, const Figures& list)
{
    auto ratio = [](double a, double b) { return b > 0 ? a / b : 0.0; };
    printf("%-22s %7d rows: first paint %8.3f ms (x%.2f), page near top %7.3f ms (x%.2f), page near end %7.3f ms "
           "(x%.2f)\n",
           sWhat, nRows, grid.tFirstPaint * 1e3, ratio(grid.tFirstPaint, list.tFirstPaint), grid.tPageTop * 1e3,
           ratio(grid.tPageTop, list.tPageTop), grid.tPageEnd * 1e3, ratio(grid.tPageEnd, list.tPageEnd));
    printf("%-22s %7d rows: first paint %8.3f ms, page near top %7.3f ms, page near end %7.3f ms\n", "  list view",
           nRows, list.tFirstPaint * 1e3, list.tPageTop * 1e3, list.tPageEnd * 1e3);
}

}  // namespace

int main()
{
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_LISTVIEW_CLASSES};
    ::InitCommonControlsEx(&icc);
    AfxWinInit(::GetModuleHandle(NULL), NULL, ::GetCommandLine(), SW_SHOW);
    printf("grid window against the list view in virtual mode, %d columns, best of %d rounds of the median of %d pages of %dx%d pixels;\n"
           "(xN) is the grid's time as a multiple of the list view's\n",
           kColumns, kRounds, kPages, kWidth, kHeight);
    Figures small = MeasureGrid(10000), smallList = MeasureListView(10000);
    Report("grid window", 10000, small, smallList);
    Figures large = MeasureGrid(100000), largeList = MeasureListView(100000);
    Report("grid window", 100000, large, largeList);
    printf("grid page cost, 100,000 rows against 10,000: x%.2f near the top, x%.2f near the end\n",
           small.tPageTop > 0 ? large.tPageTop / small.tPageTop : 0.0,
           small.tPageEnd > 0 ? large.tPageEnd / small.tPageEnd : 0.0);
    printf("list view page cost, 100,000 rows against 10,000: x%.2f near the top, x%.2f near the end\n",
           smallList.tPageTop > 0 ? largeList.tPageTop / smallList.tPageTop : 0.0,
           smallList.tPageEnd > 0 ? largeList.tPageEnd / smallList.tPageEnd : 0.0);
    return 0;
}
