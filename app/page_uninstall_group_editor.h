// The group editor: one group's name and keywords (one per line), edited in place of
// the program list. Apply stores the group (creating it when it is new), writes the
// groups file, makes the group the current one, rebuilds the groups tree, closes the
// editor and filters the list by the group; Cancel closes it.
#pragma once
#include "framework/framework.h"
#include "toolkit/dialogs/button.h"
#include "toolkit/dialogs/group_box.h"
#include "toolkit/dialogs/label.h"
#include "app/command_page.h"
#include "app/flat_edit.h"

class GroupEntry;

class CPageUninstallGroupEditor : public CCommandPage
{
public:
    CPageUninstallGroupEditor();
    virtual ~CPageUninstallGroupEditor();

    BOOL Create(CWnd* pParentWnd);

    // -1: a new group.
    void OpenGroup(int nGroupId);
    void ApplyGroup();
    // Puts the keyboard focus in the Name field, its text selected.
    void FocusName();

    CExtGroupBox m_wndPropertyBox;
    CExtLabel m_wndNameLabel;
    CExtFlatEdit m_wndName;
    CExtLabel m_wndKeywordsLabel;
    CExtFlatEdit m_wndKeywords;
    CExtButton m_wndApply;
    CExtButton m_wndCancel;

    CString m_strName;
    CString m_strKeywords;
    GroupEntry* m_pGroup;

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    // Enter and Esc inside the page neither apply nor close it.
    void OnOK() override;
    void OnCancel() override;

    afx_msg void OnApply();
    afx_msg void OnCancelButton();
    afx_msg void OnShowWindow(BOOL bShow, UINT nStatus);
    DECLARE_MESSAGE_MAP()
};
