// The group editor: one group's name and keywords (one per line), edited in place of
// the program list. Apply stores the group (creating it when it is new), writes the
// groups file, makes the group the current one, rebuilds the groups tree, closes the
// editor and filters the list by the group; Cancel closes it. A name or keyword holding a
// character the groups file cannot hold is refused at Apply, with a box that names it.
// The editor knows whether it holds typing not applied yet; a session that ends applies
// that typing when it can be stored, and otherwise keeps it in the program's registry
// key, to be shown in the editor again at the next start.
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
    // Empties the fields and forgets the group: the editor holds nothing typed.
    void Clear();
    // True when the group was stored, written and the editor closed; false when nothing
    // was stored (no name, a refused character, the split of a keyword holding a line
    // break not confirmed) and the editor stays as it is. bAsked: the user answered Yes to
    // the question whether to apply the typing, and expects the step that asked to go on;
    // an empty name is then refused with a box that says so (the Apply button leaves the
    // empty field to speak for itself).
    bool ApplyGroup(bool bAsked = false);
    // The fields differ from what the editor was opened with: typing not applied yet.
    bool IsTyped() const { return m_bTyped; }
    // The session ends (only then: a log-off called off leaves the typing as it is) and
    // no question can be asked: typing that Apply would store without a question is
    // applied (what the file cannot take now the groups store keeps); other typing (no
    // name, a character the groups file cannot hold, a keyword holding a line break that
    // Apply would split), or typing whose group a merge took away, is kept in the
    // program's registry key for the next start: with the Id of its group and the fields
    // as opened when the file holds the group under that Id, else as a new group's.
    void KeepTypingAtSessionEnd();
    // At start: typing kept when the last session ended is opened in the editor again,
    // over the group of its Id (or a new group, when that group is gone), as a change of
    // the group as it was opened (what another program changed in it since, and the
    // typing did not, stays), and the kept copy dropped. While the groups file another
    // program holds is not read yet, this waits for it; an editor the user opened
    // meanwhile leaves it for the start after.
    void RestoreKeptTyping();
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
    // The question asked before Apply splits a keyword holding a line break into one
    // keyword per line (such a keyword comes only from a groups file edited by hand).
    static CString SplitQuestion(const std::string& strKeyword);
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
    // The serial of the group being edited (GroupEntry::Serial), 0 for none.
    unsigned long long m_nGroupSerial;
    // The fields' texts as the group was opened (or the editor cleared): typing that
    // leaves them different is not applied yet.
    CString m_strOpenedName;
    CString m_strOpenedKeywords;

protected:
    // The group being edited, while it is still in the groups model; NULL for a new one
    // or one deleted meanwhile.
    GroupEntry* ListedGroup() const;
    // The keyword of the group being edited that holds a line break, when the keywords'
    // text was changed (Apply would split it into one keyword per line); "" otherwise.
    std::string KeywordApplySplits() const;
    // Stores the fields in the group (a new one when none is listed) and writes the
    // groups file (a file that cannot be written reported when bReport is set); the
    // keywords stay as they were when their text is unchanged. Then the group becomes the
    // current one, the tree is rebuilt, the editor closed and the list filtered. True when
    // the file holds the group. pnStoredId, when given, receives the group's Id after the
    // save (0 when a merge with the file took it away).
    bool StoreAndClose(bool bReport, int* pnStoredId = NULL);
    // Whether the fields differ from what was opened; notes it.
    void NoteTyping();

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    // Enter and Esc inside the page neither apply nor close it.
    void OnOK() override;
    void OnCancel() override;

    // Fills the fields from m_strName and m_strKeywords, which become what was opened.
    void ShowOpened();
    afx_msg void OnFieldChange();
    afx_msg void OnApply();
    afx_msg void OnCancelButton();
    afx_msg void OnShowWindow(BOOL bShow, UINT nStatus);
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    DECLARE_MESSAGE_MAP()

private:
    // Drops the typing kept for the next start.
    static void ForgetKeptTyping();

    bool m_bTyped = false;  // NoteTyping's answer; false once opened or cleared
};
