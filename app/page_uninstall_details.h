// The details page: every registry value of the selected program as a two-column
// property list ("Property", "Value").
#pragma once
#include "framework/framework.h"
#include "toolkit/dialogs/resizable_dialog.h"
#include "app/details_ctrl.h"

class ProgramEntry;

class CPageUninstallDetails : public CExtResizableDialog
{
public:
    CPageUninstallDetails();
    virtual ~CPageUninstallDetails();

    BOOL Create(CWnd* pParentWnd);
    // The list's rows from the entry's values, in the catalogue's order; none for no
    // entry.
    void ShowProgram(const ProgramEntry* pEntry);

    CExtDetailsCtrl m_wndDetails;

protected:
    BOOL OnInitDialog() override;
    // After the anchors have laid the list out, the columns take their shares.
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    afx_msg LRESULT OnShowProgramDetails(WPARAM wParam, LPARAM lParam);
    afx_msg void OnListSetFocus(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnListKillFocus(NMHDR* pNMHDR, LRESULT* pResult);
    DECLARE_MESSAGE_MAP()
};
