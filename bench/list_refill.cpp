// Refills of the program list in the program's main window with a program selected, as
// the user meets them: F5 (the catalogue reads the registry again and the list is filled
// and sorted anew) and a key typed in the search box (the entries already read are handed
// over again). The selected program stays selected through each; finding its row again
// is part of the time. References in the same run: for F5, a refresh of a catalogue of
// its own that only counts the entries; for a typed key, the entries handed over to a
// view that only asks the page's own filter; for the chosen program's search among the
// rows, the same comparisons with a copy of each entry's key, as a refill made them before.
//
// Usage: bench_list_refill [entries] [rounds]   (defaults 100000 and 5)
#include <windows.h>
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>
#include "app/page_uninstall_list.h"
#include "app/purgelet_app.h"
#include "app/purgelet_dlg.h"
#include "app/ui_manager.h"
#include "catalogue/catalogue.h"
#include "catalogue/program_entry.h"
#include "support/registry_sandbox.h"
#include "bench/seeded_window.h"

namespace {

CPurgeletApp s_app;

class CountingView : public IUninstallManager
{
public:
    void AddProgram(ProgramEntry*) override { ++count; }
    int count = 0;
};

// Hands every entry to the page's filter and counts those it keeps.
class FilterOnlyView : public IUninstallManager
{
public:
    explicit FilterOnlyView(const CPageUninstallList& page) : m_page(page) {}
    void AddProgram(ProgramEntry* entry) override
    {
        if (!m_page.IsFilteredOut(entry)) ++count;
    }
    int count = 0;

private:
    const CPageUninstallList& m_page;
};

int g_rounds = 5;
bool g_ok = false;
std::vector<double> g_refresh, g_key, g_erase, g_refReference, g_keyReference, g_inPlace, g_copies;
int g_nSame = 0;

// What a refill does per row to know the chosen program: the entry compared with the kept
// key in place, against a copy of the entry's key built for each comparison (as before).
void TimeKeyComparisons(const CVrelPurgelet& catalogue, const ProgramEntryKey& key)
{
    LARGE_INTEGER t0, t1, t2;
    QueryPerformanceCounter(&t0);
    for (int i = 0; i < catalogue.GetCount(); ++i) g_nSame += catalogue.GetAt(i)->HasKey(key) ? 1 : 0;
    QueryPerformanceCounter(&t1);
    for (int i = 0; i < catalogue.GetCount(); ++i) g_nSame += catalogue.GetAt(i)->GetKey().SameAs(key) ? 1 : 0;
    QueryPerformanceCounter(&t2);
    g_inPlace.push_back(BenchMs(t0, t1));
    g_copies.push_back(BenchMs(t1, t2));
}
std::string g_chosenName;

std::string SelectedName()
{
    ProgramEntry* pEntry = CUiManager::GetInstance()->GetSelectedProgram();
    return pEntry != nullptr ? pEntry->DisplayName : std::string();
}

// Every step in one tick, once the window has painted: the refills are synchronous.
VOID CALLBACK Drive(HWND, UINT, UINT_PTR nIDEvent, DWORD)
{
    CWnd* pMain = AfxGetMainWnd();
    if (pMain == nullptr || !::IsWindowVisible(pMain->GetSafeHwnd())) return;
    ::KillTimer(NULL, nIDEvent);
    CPageUninstallList& page = static_cast<CPurgeletDlg*>(pMain)->m_pageUninstall.m_pageView.m_pageList;
    CUiManager* pUi = CUiManager::GetInstance();
    // A program near the end of the sorted list, chosen as a click would.
    const int nRow = page.m_wndList.GetItemCount() * 9 / 10;
    page.m_wndList.SendMessage(LVM_SETSELECTIONMARK, 0, nRow);
    g_chosenName = SelectedName();
    bool bKept = !g_chosenName.empty();
    for (int r = 0; r < g_rounds && bKept; ++r) {
        LARGE_INTEGER t0, t1, t2, t3, t4, t5;
        QueryPerformanceCounter(&t0);
        pUi->RefreshPrograms(false);
        QueryPerformanceCounter(&t1);
        bKept = bKept && SelectedName() == g_chosenName;
        // A key typed into the search box: every name holds a "p".
        page.m_wndSearch.SetWindowText("p");
        QueryPerformanceCounter(&t2);
        bKept = bKept && SelectedName() == g_chosenName;
        page.m_wndSearch.SetWindowText("");
        QueryPerformanceCounter(&t3);
        bKept = bKept && SelectedName() == g_chosenName;
        {
            CVrelPurgelet catalogue;
            CountingView view;
            catalogue.Refresh(&view);
        }
        QueryPerformanceCounter(&t4);
        FilterOnlyView filter(page);
        page.m_Catalogue.Populate(&filter);
        QueryPerformanceCounter(&t5);
        if (ProgramEntry* pChosen = pUi->GetSelectedProgram()) TimeKeyComparisons(page.m_Catalogue, pChosen->GetKey());
        g_refresh.push_back(BenchMs(t0, t1));
        g_key.push_back(BenchMs(t1, t2));
        g_erase.push_back(BenchMs(t2, t3));
        g_refReference.push_back(BenchMs(t3, t4));
        g_keyReference.push_back(BenchMs(t4, t5));
    }
    g_ok = bKept;
    ::PostMessageA(pMain->GetSafeHwnd(), WM_CLOSE, 0, 0);
}

}  // namespace

int main(int argc, char** argv)
{
    const int entries = BenchCountArg(argc, argv, 1, 100000);
    g_rounds = BenchCountArg(argc, argv, 2, g_rounds);
    if (!RunSeededMainWindow(s_app, "-REFILL-", entries, Drive)) return 1;

    const double refresh = BenchMedian(g_refresh), key = BenchMedian(g_key), erase = BenchMedian(g_erase);
    const double refreshReference = BenchMedian(g_refReference), keyReference = BenchMedian(g_keyReference);
    std::printf("entries seeded:        %d, rounds: %d of %d, chosen: %s%s\n", entries, (int)g_refresh.size(),
                g_rounds, g_chosenName.c_str(), g_ok ? "" : " (NOT kept selected)");
    std::printf("F5, program selected:  %.1f ms (median; catalogue refresh alone %.1f ms)\n", refresh,
                refreshReference);
    std::printf("typed key \"p\":         %.1f ms (median; filter alone %.1f ms)\n", key, keyReference);
    std::printf("key erased:            %.1f ms (median)\n", erase);
    if (refreshReference > 0.0 && keyReference > 0.0)
        std::printf("ratio:                 %.2f F5 / catalogue refresh, %.2f typed key / filter alone\n",
                    refresh / refreshReference, key / keyReference);
    const double inPlace = BenchMedian(g_inPlace), copies = BenchMedian(g_copies);
    std::printf("key per row, in place: %.1f ms for %d entries (median; chosen found %d times)\n", inPlace, entries,
                g_nSame);
    std::printf("  with a copy per row: %.1f ms (reference: the comparison before)\n", copies);
    if (copies > 0.0) std::printf("ratio:                 %.2f (in place / with a copy)\n", inPlace / copies);
    return g_ok ? 0 : 2;
}
