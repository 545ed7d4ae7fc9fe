// The left pane: fills the main dialog below its bars. A side-by-side splitter holds the
// "Groups" pane on the left and the right pane (program list and details) on the right;
// while a group is edited the "Group Editor" pane takes the right pane's place. The
// page keeps the groups pane's width as the percentage option CatsSize.
#pragma once
#include "framework/framework.h"
#include "app/command_page.h"
#include "app/container_bar.h"
#include "app/page_uninstall_group_editor.h"
#include "app/page_uninstall_groups.h"
#include "app/page_uninstall_view.h"
#include "app/splitter.h"

class CPageUninstall : public CCommandPage
{
public:
    enum
    {
        IDC_GROUPS_BAR = 10000,
        IDC_EDITOR_BAR = 10001,
        IDC_SPLITTER = 10002,
    };

    CPageUninstall();
    virtual ~CPageUninstall();

    BOOL Create(CWnd* pParentWnd);

    // The splitter position as a whole percentage of the layout width; -1 when the
    // splitter has no width.
    int GetGroupsPercentage() const;
    // Puts that percentage into the option CatsSize (marked changed) when it differs; a
    // splitter without width keeps the stored one.
    void StoreGroupsPercentage();
    // Gives the keyboard focus to the program list.
    void FocusProgramList();

    CExtSplitter m_wndSplitter;
    CExtContainerBar m_wndGroupsBar;
    CPageUninstallGroups m_pageGroups;
    CPageUninstallView m_pageView;
    CExtContainerBar m_wndEditorBar;
    CPageUninstallGroupEditor m_pageEditor;

protected:
    BOOL OnInitDialog() override;
    // Puts the right pane (false) or the group editor (true) into the splitter's
    // second slot.
    void SwapSecondPane(bool bEditor);
    // Puts the right pane back in the editor's place and hands the focus, which may be
    // in the editor now hidden, to the groups tree, on the group that filters the list.
    void CloseEditor();
    // The groups pane is going: the focus, when it is in there, moves to the program
    // list (to the editor while it has the list's place), so keys do not go on changing
    // the current group in a pane the user no longer sees.
    void MoveFocusOutOfGroups();

    afx_msg LRESULT OnShowGroupsBar(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnShowGroupEditor(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnCloseGroupEditor(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnApplyGroupEditor(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnGroupEditorTyped(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnNotifyBtnClose(WPARAM wParam, LPARAM lParam);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnDestroy();
    DECLARE_MESSAGE_MAP()
};
