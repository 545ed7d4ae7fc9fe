// The group editor: one group's name and keywords (one per line), edited in place of
// the program list. Apply stores the group (creating it when it is new), writes the
// groups file, makes the group the current one, rebuilds the groups tree, closes the
// editor and filters the list by the group; Cancel closes it. A name or keyword holding a
// character the groups file cannot hold is refused at Apply, with a box that names it.
#pragma once
#include "framework/framework.h"
#include "toolkit/dialogs/button.h"
#include "toolkit/dialogs/group_box.h"
#include "toolkit/dialogs/label.h"
#include "app/command_page.h"
#include "app/flat_edit.h"
#include <string>

class GroupEntry;

class CPageUninstallGroupEditor : public CCommandPage
{
public:
    CPageUninstallGroupEditor();
    virtual ~CPageUninstallGroupEditor();

    BOOL Create(CWnd* pParentWnd);

    // -1: a new group.
    void OpenGroup(int nGroupId);
    // True when the group was stored, written and the editor closed; false when nothing
    // was stored (no name, or a refused character) and the editor stays as it is.
    bool ApplyGroup();
    // What stops a name and keywords from being stored: a character the groups file
    // cannot hold (FindUnstorableText: a control character other than tab and line
    // breaks, bytes that are no text in the code page). A keyword is one line.
    struct Unstorable
    {
        std::string text;     // the box that refuses them, or "" when nothing stops them
        std::string keyword;  // the keyword that holds the character, as typed
        int nField = 0;       // IDC_GROUP_NAME or IDC_GROUP_KEYWORDS
        int nChar = 0;        // the character's place in the field's text, in characters;
                              // -1 when no one character is to blame
    };
    static Unstorable FindUnstorable(const CString& strName, const CString& strKeywords);
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
    // The fields' texts as the group was opened (or the editor cleared): typing that
    // leaves them different is not applied yet.
    CString m_strOpenedName;
    CString m_strOpenedKeywords;

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    // Enter and Esc inside the page neither apply nor close it.
    void OnOK() override;
    void OnCancel() override;

    // Fills the fields from m_strName and m_strKeywords, which become what was opened.
    void ShowOpened();
    // Tells the mediator whether the fields differ from what was opened.
    afx_msg void OnFieldChange();
    afx_msg void OnApply();
    afx_msg void OnCancelButton();
    afx_msg void OnShowWindow(BOOL bShow, UINT nStatus);
    DECLARE_MESSAGE_MAP()
};
