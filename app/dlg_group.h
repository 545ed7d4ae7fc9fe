// The "Add to group" dialog: the user picks one of the user-defined groups and confirms
// a keyword (the display name of the program the command acted on is offered), which is
// appended to the group's keywords. A keyword the groups file cannot hold, or one holding
// a line break, is refused at OK with a box, by the group editor's rule. Nothing is
// refreshed or saved here: the caller filters the list again when the group that took
// the keyword decides what it shows, and the keyword reaches the groups file when the
// groups page saves it.
#pragma once
#include "framework/framework.h"
#include "toolkit/dialogs/button.h"
#include "toolkit/dialogs/label.h"
#include "toolkit/dialogs/resizable_dialog.h"
#include "app/flat_edit.h"
#include "app/smart_list_box.h"

class GroupEntry;
class ProgramEntry;

class CDlgGroup : public CExtResizableDialog
{
public:
    // pProgram: the program the command acts on, taken when it ran (the main window and
    // its list take no input while the dialog is up); NULL for none, when OK adds nothing.
    explicit CDlgGroup(CWnd* pParent = NULL, const ProgramEntry* pProgram = NULL);
    virtual ~CDlgGroup();

    BOOL Create(CWnd* pParentWnd);  // modeless, for embedding and tests

    CString m_strKeyword;
    const ProgramEntry* m_pProgram;
    // The group that took the keyword when the dialog ended with OK; NULL when none did.
    GroupEntry* m_pGroupAdded;
    CExtLabel m_wndKeywordLabel;
    CExtFlatEdit m_wndKeyword;
    CExtLabel m_wndGroupsLabel;
    CExtSmartListBox m_wndGroups;
    CExtButton m_wndOK;
    CExtButton m_wndCancel;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;

    DECLARE_MESSAGE_MAP()
};
