// A word typed into the program list's search box as a quick hand types it: sixteen
// letters 20 ms apart (real keys), every entry matching most starts of the word. Measured:
// how long after the last key the list shows what the whole word finds. Reference in the
// same run: one re-filter of a typed key that keeps every row.
//
// Usage: bench_typed_word [entries] [rounds]   (defaults 20000 and 3)
#include <windows.h>
#include <atomic>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>
#include "app/page_uninstall_list.h"
#include "app/purgelet_app.h"
#include "app/purgelet_dlg.h"
#include "app/ui_manager.h"
#include "bench/seeded_window.h"

namespace {

CPurgeletApp s_app;
// Sixteen letters; every start of it up to "hmark program " is in every name, the whole
// word in few.
const char kWord[] = "hmark program 12";
int g_rounds = 3;
std::vector<double> g_after, g_reference;
std::atomic<double> g_lastKey{0.0};

void TypeWord()
{
    for (const char* p = kWord; *p != '\0'; ++p) {
        INPUT in[2] = {};
        in[0].type = in[1].type = INPUT_KEYBOARD;
        in[0].ki.wVk = in[1].ki.wVk = *p == ' ' ? VK_SPACE : (WORD)toupper((unsigned char)*p);
        in[1].ki.dwFlags = KEYEVENTF_KEYUP;
        ::SendInput(2, in, sizeof(INPUT));
        g_lastKey = BenchNow();
        ::Sleep(20);
    }
}

// Pumps until the list shows the rows of the whole word (nRows of them), at most a
// minute; the time it shows them, or 0.
double PumpUntilShown(CPageUninstallList& page, int nRows)
{
    const double start = BenchNow();
    while (BenchNow() - start < 60.0) {
        MSG msg;
        while (::PeekMessageA(&msg, NULL, 0, 0, PM_NOREMOVE)) {
            AfxPumpMessage();
            if (page.m_strSearch == kWord && page.m_wndList.GetItemCount() == nRows) return BenchNow();
        }
        ::MsgWaitForMultipleObjects(0, NULL, FALSE, 5, QS_ALLINPUT);
    }
    return 0.0;
}

VOID CALLBACK Drive(HWND, UINT, UINT_PTR nIDEvent, DWORD)
{
    CWnd* pMain = AfxGetMainWnd();
    if (pMain == nullptr || !::IsWindowVisible(pMain->GetSafeHwnd())) return;
    ::KillTimer(NULL, nIDEvent);
    CPageUninstallList& page = static_cast<CPurgeletDlg*>(pMain)->m_pageUninstall.m_pageView.m_pageList;
    // The keys go where the focus is: in the search box of the window in front.
    const double tFocus = BenchNow();
    while ((::GetForegroundWindow() != pMain->GetSafeHwnd() || ::GetFocus() != page.m_wndSearch.GetSafeHwnd()) &&
           BenchNow() - tFocus < 10.0) {
        ::SetForegroundWindow(pMain->GetSafeHwnd());
        page.m_wndSearch.SetFocus();
        BenchPump();
        ::Sleep(10);
    }
    for (int r = 0; r < g_rounds; ++r) {
        // The reference: one re-filter of a typed key that keeps every row (the dearest
        // the word costs), then the whole word's rows.
        page.m_wndSearch.SetWindowText("hmark");
        const double t0 = BenchNow();
        page.FilterList();
        g_reference.push_back((BenchNow() - t0) * 1000.0);
        page.m_wndSearch.SetWindowText(kWord);
        const int nRows = page.m_wndList.GetItemCount();
        page.m_wndSearch.SetWindowText("");
        BenchPump();
        std::thread hand(TypeWord);
        const double shown = PumpUntilShown(page, nRows);
        hand.join();
        if (shown == 0.0) break;
        g_after.push_back((shown - g_lastKey) * 1000.0);
        page.m_wndSearch.SetWindowText("");
        BenchPump();
    }
    ::PostMessageA(pMain->GetSafeHwnd(), WM_CLOSE, 0, 0);
}

}  // namespace

int main(int argc, char** argv)
{
    const int entries = BenchCountArg(argc, argv, 1, 20000);
    g_rounds = BenchCountArg(argc, argv, 2, g_rounds);
    if (!RunSeededMainWindow(s_app, "-TYPED-", entries, Drive)) return 1;

    const double after = BenchMedian(g_after), reference = BenchMedian(g_reference);
    std::printf("entries seeded:          %d, rounds: %d of %d\n", entries, (int)g_after.size(), g_rounds);
    std::printf("16 letters 20 ms apart:  list shown %.1f ms after the last key (median)\n", after);
    std::printf("one re-filter:           %.1f ms (median; a key that keeps every row)\n", reference);
    if (reference > 0.0)
        std::printf("ratio:                   %.2f (after the last key / one re-filter)\n", after / reference);
    return (int)g_after.size() == g_rounds ? 0 : 2;
}
