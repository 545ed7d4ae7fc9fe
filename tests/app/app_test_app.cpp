#include "app_test_app.h"
#include "app/purgelet_dlg.h"
#include "framework/afxres.h"

static CPurgeletTestApp s_testApp;

CPurgeletTestApp& TestApp() { return s_testApp; }

int CPurgeletTestApp::DoMessageBox(LPCTSTR lpszPrompt, UINT nType, UINT nIDPrompt)
{
    m_boxes.push_back({lpszPrompt != NULL ? lpszPrompt : "", nType});
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
    if (::IsWindow(pDlg->GetSafeHwnd())) pDlg->SendMessage(WM_COMMAND, ID_APP_EXIT, 0);
}

void CPurgeletTestApp::RunMainDialog()
{
    ++m_nMainDialogRuns;
    if (!m_scenario) return;
    ::SetTimer(NULL, 0, 10, RunScenario);
    CPurgeletApp::RunMainDialog();
}

HACCEL CPurgeletTestApp::GetMainAccelerators()
{
    return m_hAccel != NULL ? m_hAccel : CPurgeletApp::GetMainAccelerators();
}
