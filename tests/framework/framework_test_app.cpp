#include "framework_test_app.h"

BEGIN_MESSAGE_MAP(CFrameworkTestApp, CWinApp)
    ON_COMMAND_RANGE(IDC_APP_FIRST, IDC_APP_LAST, &CFrameworkTestApp::OnAppCommand)
    ON_UPDATE_COMMAND_UI_RANGE(IDC_APP_FIRST, IDC_APP_LAST, &CFrameworkTestApp::OnUpdateAppCommand)
END_MESSAGE_MAP()

CFrameworkTestApp::CFrameworkTestApp() : CWinApp("Framework Tests") {}

int CFrameworkTestApp::DoMessageBox(LPCTSTR lpszPrompt, UINT nType, UINT nIDPrompt) {
    if (m_bRecordBoxes) {
        m_boxes.push_back({lpszPrompt ? lpszPrompt : "", nType, nIDPrompt});
        return m_nBoxAnswer;
    }
    return CWinApp::DoMessageBox(lpszPrompt, nType, nIDPrompt);
}

BOOL CFrameworkTestApp::ProcessMessageFilter(int code, LPMSG lpMsg) {
    m_filterCodes.push_back(code);
    if (m_hAccel != NULL && m_hAccelTarget != NULL && ::IsWindow(m_hAccelTarget) &&
        ::TranslateAcceleratorA(m_hAccelTarget, m_hAccel, lpMsg))
        return TRUE;
    return CWinApp::ProcessMessageFilter(code, lpMsg);
}

BOOL CFrameworkTestApp::InitInstance() {
    m_lifecycle.push_back("InitInstance");
    if (m_nQuitCodeFromInit >= 0) ::PostQuitMessage(m_nQuitCodeFromInit);
    return m_bInitResult;
}

int CFrameworkTestApp::ExitInstance() {
    m_lifecycle.push_back("ExitInstance");
    return CWinApp::ExitInstance();
}

BOOL CFrameworkTestApp::OnIdle(LONG lCount) {
    if (!m_lifecycle.empty() && m_lifecycle.back() != "OnIdle") m_lifecycle.push_back("OnIdle");
    return CWinApp::OnIdle(lCount);
}

void CFrameworkTestApp::OnAppCommand(UINT nID) { m_commands.push_back(nID); }

void CFrameworkTestApp::OnUpdateAppCommand(CCmdUI* pCmdUI) { pCmdUI->Enable(m_bAppCommandEnabled); }

static CFrameworkTestApp theApp;

CFrameworkTestApp& TestApp() { return theApp; }
