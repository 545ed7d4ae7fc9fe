// The groups page: the groups of the groups model as a tree under the root "Groups",
// with "Other" last, and a small toolbar with New, Delete and Edit. Selecting an item
// makes its group the current one, which filters the program list; while the group
// editor is open, selecting a group opens it there instead (after asking whether to apply
// what the editor holds, when it holds typing not applied yet). The page loads the groups
// file when it opens (a file it cannot read is reported once the window is up; one another
// program holds is read once it is free) and writes it after a Delete, and when it goes
// only if the groups changed unsaved.
#pragma once
#include "framework/framework.h"
#include "toolkit/bars/control_bar.h"
#include "app/command_page.h"
#include "app/tree_ctrl.h"
#include <string>

class GroupEntry;

class CPageUninstallGroups : public CCommandPage
{
public:
    // The page's toolbar (New, Delete, Edit from toolbar resource 135), without the
    // content-expand button.
    class CExtToolBar : public CExtToolControlBar
    {
    protected:
        CExtBarContentExpandButton* CreateContentExpandButton() override;
    };

    // While the groups file is held by another program since the start: the timer that
    // tries to read it, and how often.
    static const UINT_PTR kHeldFileTimer = 0x4845;
    static const UINT kHeldFilePollMs = 500;
    // Changes earlier ends kept are read and stored once the window is up and painted.
    static const UINT_PTR kKeptChangesTimer = 0x4B43;
    static const UINT kKeptChangesPollMs = 10;

    CPageUninstallGroups();
    virtual ~CPageUninstallGroups();

    BOOL Create(CWnd* pParentWnd);

    // Rebuilds the tree from the groups model; the current group's item is bold.
    void RefillTree();
    // The group of an item, when it is still in the model; NULL for the root.
    GroupEntry* GetItemGroup(HTREEITEM hItem) const;
    // The caret item's group when it is a user group (Delete and Edit act on it).
    // Enables the toolbar's commands for the caret item at once.
    void UpdateToolBarButtons();
    GroupEntry* GetCaretUserGroup() const;
    // Gives the tree the keyboard focus with the current group's item as its caret, so
    // the highlighted group is the one that filters the list again.
    void FocusCurrentGroup();
    // Whether a change of pGroup's keywords can change the programs the list shows: it
    // is the current group, or the current group is "Other", which leaves out what any
    // group's keywords match. The root shows every program whatever the groups hold.
    static bool ListDependsOn(const GroupEntry* pGroup);
    // The question Delete asks before it removes a group (its name on a line of its own).
    static CString DeleteQuestion(const std::string& strName);

    CExtTreeCtrl m_wndTree;
    CExtToolBar m_wndToolBar;
    HTREEITEM m_hRoot;
    HTREEITEM m_hCurrent;

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    void LoadToolBarIcons();
    // Reads the groups file into the model and the tree; what it found is told once the
    // window is up, the changes earlier ends kept are stored at the timer's next tick.
    void LoadGroups();
    // Makes an item's group the current one (the item bold); the list is filtered again
    // only when the group really changes (a change of the groups themselves filters
    // where it is made).
    void MakeCurrent(HTREEITEM hItem);
    // Moves the caret without it counting as the user's selection.
    void SelectQuietly(HTREEITEM hItem);
    // The tree's item of a group, or NULL.
    HTREEITEM ItemOf(const GroupEntry* pGroup) const;
    // Opens the group in the editor (the typing it holds settled first) and highlights
    // its item; false when the editor was not given the group.
    bool EditGroup(int nGroupId);
    // A click or key in the tree that would open another group in the editor while the
    // editor holds typing: the tree is left as it is, and the group is opened once the
    // tree's own handling is over, after the question whether to apply the typing
    // (applying it rebuilds the tree, which must not happen inside the tree's handling).
    void EditFromTreeLater(const GroupEntry* pGroup);

    afx_msg void OnGroupNew();
    afx_msg void OnGroupDelete();
    afx_msg void OnGroupEdit();
    afx_msg void OnUpdateGroupNew(CCmdUI* pCmdUI);
    afx_msg void OnUpdateGroupUserCommand(CCmdUI* pCmdUI);
    afx_msg void OnTreeSelChanging(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnTreeSelChanged(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnTreeClick(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnTreeDblClk(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnTreeSetFocus(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnTreeKillFocus(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg LRESULT OnRefreshGroups(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnReportGroupsFile(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnEditFromTree(WPARAM wParam, LPARAM lParam);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg void OnDestroy();
    DECLARE_MESSAGE_MAP()

    // Selection changes the page makes itself (rebuilding the tree, placing the caret)
    // are not the user's.
    bool m_bOwnSelection;
    // Why the groups file could not be read at start, until the box has said so.
    std::string m_strFileProblem;
    // Set while the load waits for another copy of the program to finish its turn at the
    // groups file: the tree's root says so.
    bool m_bTurnAwaited = false;

    void StoreKeptChanges();
};
