#include "app_test_app.h"

static CPurgeletTestApp s_testApp;

CPurgeletTestApp& TestApp() { return s_testApp; }

int CPurgeletTestApp::DoMessageBox(LPCTSTR lpszPrompt, UINT nType, UINT)
{
    m_boxes.push_back({lpszPrompt != NULL ? lpszPrompt : "", nType});
    return IDOK;
}

void CPurgeletTestApp::RunMainDialog() { ++m_nMainDialogRuns; }

HACCEL CPurgeletTestApp::GetMainAccelerators() { return m_hAccel; }
