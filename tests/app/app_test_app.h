// The one application object of the application tests: the program's own application
// class with its message boxes recorded instead of shown. The main dialog runs only
// when a test gives a scenario to drive it; otherwise its turn is just counted.
#pragma once
#include "app/purgelet_app.h"
#include "app/ui_manager.h"
#include <functional>
#include <string>
#include <vector>

class CPurgeletTestApp : public CPurgeletApp
{
public:
    struct BoxRecord
    {
        std::string text;
        UINT type;
        bool bMainWindowDrawn;  // the main window was on the screen and painted whole when the box came
    };
    std::vector<BoxRecord> m_boxes;
    // Set: each box is shown too, as the program shows it, for a test that answers it.
    bool m_bShowBoxes = false;
    int DoMessageBox(LPCTSTR lpszPrompt, UINT nType, UINT nIDPrompt) override;

    int m_nMainDialogRuns = 0;
    HACCEL m_hAccel = NULL;  // when set, stands in for the main dialog's table
    // Run from inside the main dialog's modal loop once it is up; the dialog is closed
    // through File > Exit when the scenario returns.
    std::function<void(CPurgeletDlg&)> m_scenario;

protected:
    void RunMainDialog() override;
    HACCEL GetMainAccelerators() override;
};

CPurgeletTestApp& TestApp();

// Closes the group editor as far as the mediator knows, telling no pane: a test that
// ended with the editor open (or that played a pane) must not hand it to the next one.
inline void ForgetGroupEditor()
{
    CUiManager* pUi = CUiManager::GetInstance();
    if (!pUi->IsGroupEditorOpen()) return;
    const HWND hLeftPane = pUi->m_hWndLeftPane;
    pUi->m_hWndLeftPane = NULL;
    pUi->CloseGroupEditor();
    pUi->m_hWndLeftPane = hLeftPane;
}
