// The one application object of the application tests: the program's own application
// class with its message boxes recorded instead of shown, and the main dialog replaced
// by a record of the call.
#pragma once
#include "app/purgelet_app.h"
#include <string>
#include <vector>

class CPurgeletTestApp : public CPurgeletApp
{
public:
    struct BoxRecord
    {
        std::string text;
        UINT type;
    };
    std::vector<BoxRecord> m_boxes;
    int DoMessageBox(LPCTSTR lpszPrompt, UINT nType, UINT nIDPrompt) override;

    int m_nMainDialogRuns = 0;
    HACCEL m_hAccel = NULL;

protected:
    void RunMainDialog() override;
    HACCEL GetMainAccelerators() override;
};

CPurgeletTestApp& TestApp();
