#include "app_test_app.h"
#include "owned_box.h"
#include "app/purgelet_dlg.h"
#include "framework/afxres.h"
#include <memory>

static CPurgeletTestApp s_testApp;

CPurgeletTestApp& TestApp() { return s_testApp; }

static BOOL CALLBACK NoteUnpainted(HWND hChild, LPARAM lParam)
{
    if (::IsWindowVisible(hChild) && ::GetUpdateRect(hChild, NULL, FALSE)) *(bool*)lParam = false;
    return TRUE;
}

// Whether the window is visible and it and its visible children have nothing left to paint.
static bool DrawnWhole(HWND hWnd)
{
    if (!::IsWindowVisible(hWnd) || ::GetUpdateRect(hWnd, NULL, FALSE)) return false;
    bool bDrawn = true;
    ::EnumChildWindows(hWnd, NoteUnpainted, (LPARAM)&bDrawn);
    return bDrawn;
}

int CPurgeletTestApp::DoMessageBox(LPCTSTR lpszPrompt, UINT nType, UINT nIDPrompt)
{
    CWnd* pMain = AfxGetMainWnd();
    const bool bDrawn = pMain != NULL && ::IsWindow(pMain->GetSafeHwnd()) && DrawnWhole(pMain->GetSafeHwnd());
    m_boxes.push_back({lpszPrompt != NULL ? lpszPrompt : "", nType, bDrawn});
    return m_bShowBoxes ? CPurgeletApp::DoMessageBox(lpszPrompt, nType, nIDPrompt) : IDOK;
}

static VOID CALLBACK RunScenario(HWND, UINT, UINT_PTR nIDEvent, DWORD)
{
    ::KillTimer(NULL, nIDEvent);
    CPurgeletDlg* pDlg = (CPurgeletDlg*)AfxGetMainWnd();
    if (pDlg == NULL || !::IsWindow(pDlg->GetSafeHwnd())) return;
    std::function<void(CPurgeletDlg&)> scenario;
    scenario.swap(TestApp().m_scenario);
    scenario(*pDlg);
    if (!::IsWindow(pDlg->GetSafeHwnd())) return;
    // A scenario that left typing in the group editor is asked about it at the exit, as a
    // user is, and drops it.
    std::unique_ptr<ownedbox::BoxWatcher> drop;
    if (CUiManager::GetInstance()->IsGroupEditorTyped())
        drop.reset(new ownedbox::BoxWatcher(pDlg->GetSafeHwnd(), ownedbox::Press(IDNO)));
    pDlg->SendMessage(WM_COMMAND, ID_APP_EXIT, 0);
    if (drop) drop->Stop();
}

// A run starts as the program does, long after the last key typed at a copy before: the
// hand has been at rest for the double-click time. The runs of the tests follow each
// other in one process, and the input rule keeps the last key it dropped for the
// process's life (the main window's, in the program): a key dropped while the last run's
// command ran would open a burst that drops the first keys typed at this one. What is
// waited for is that moment alone, so the thread sleeps until it.
static void AwaitHandAtRest()
{
    const DWORD dwRest = ::GetDoubleClickTime();
    for (;;) {
        LASTINPUTINFO last = {sizeof(last), 0};
        if (!::GetLastInputInfo(&last)) return;
        const DWORD dwSince = ::GetTickCount() - last.dwTime;
        if (dwSince > dwRest) return;
        ::Sleep(dwRest + 1 - dwSince);
    }
}

void CPurgeletTestApp::RunMainDialog()
{
    ++m_nMainDialogRuns;
    if (!m_scenario) return;
    AwaitHandAtRest();
    ::SetTimer(NULL, 0, 10, RunScenario);
    CPurgeletApp::RunMainDialog();
}

HACCEL CPurgeletTestApp::GetMainAccelerators()
{
    return m_hAccel != NULL ? m_hAccel : CPurgeletApp::GetMainAccelerators();
}
