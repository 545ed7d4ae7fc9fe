// The one application object of the framework tests. Message boxes can be recorded
// instead of shown, and an accelerator table can be applied in the message filter the
// way the program applies its own.
#pragma once
#include "framework/framework.h"
#include <string>
#include <vector>

class CFrameworkTestApp : public CWinApp {
public:
    CFrameworkTestApp();

    struct BoxRecord {
        std::string text;
        UINT type;
        UINT idPrompt;
    };
    bool m_bRecordBoxes = false;   // record DoMessageBox calls instead of showing them
    int m_nBoxAnswer = IDOK;
    std::vector<BoxRecord> m_boxes;
    int DoMessageBox(LPCTSTR lpszPrompt, UINT nType, UINT nIDPrompt) override;

    // Accelerators applied to m_hAccelTarget in ProcessMessageFilter.
    HACCEL m_hAccel = NULL;
    HWND m_hAccelTarget = NULL;
    std::vector<int> m_filterCodes;  // codes ProcessMessageFilter was called with
    BOOL ProcessMessageFilter(int code, LPMSG lpMsg) override;

    // Commands that reach the application at the end of a route.
    std::vector<UINT> m_commands;
    afx_msg void OnAppCommand(UINT nID);
    afx_msg void OnUpdateAppCommand(CCmdUI* pCmdUI);
    BOOL m_bAppCommandEnabled = TRUE;

    // Start-up as AfxWinMain runs it: what InitInstance answers and what it posts.
    BOOL m_bInitResult = TRUE;
    int m_nQuitCodeFromInit = -1;  // >= 0: InitInstance posts WM_QUIT with it
    std::vector<std::string> m_lifecycle;
    BOOL InitInstance() override;
    int ExitInstance() override;
    BOOL OnIdle(LONG lCount) override;

    DECLARE_MESSAGE_MAP()
};

CFrameworkTestApp& TestApp();

// Command ids the application handles (ON_COMMAND_RANGE) in the routing tests.
#define IDC_APP_FIRST 0x8A00
#define IDC_APP_LAST 0x8A0F
