// The application's UI mediator. The panes of the main window never call each other:
// each registers its window here, and every cross-pane request is one operation that
// sends one registered message, synchronously, to the pane that handles it. The
// mediator also holds what several panes share: the selected program, the counts of
// programs found and shown, whether the group editor is open, and an icon cache.
#pragma once
#include "framework/framework.h"
#include "app/icon_cache.h"
#include "app/work_areas.h"

class ProgramEntry;

// The application's registered messages; each is registered by its own name during
// static initialisation, and every handler answers 0.
extern const UINT g_nMsgShowGroupsBar;       // to the left pane; wParam 1 show, 0 hide
extern const UINT g_nMsgShowDetailsBar;      // to the right pane; wParam 1 show, 0 hide
extern const UINT g_nMsgShowProgramDetails;  // to the details pane; wParam the ProgramEntry*
extern const UINT g_nMsgShowGroupEditor;     // to the left pane; wParam group id, -1 new group
extern const UINT g_nMsgCloseGroupEditor;    // to the left pane
extern const UINT g_nMsgRefreshGroups;       // to the groups page
extern const UINT g_nMsgRefreshPrograms;     // to the right pane; wParam 0 full, 1 filter only
extern const UINT g_nMsgCopySelection;       // to the right pane
extern const UINT g_nMsgOptionsChanged;      // to the right pane
extern const UINT g_nMsgUpdateStatusBar;     // to the main window
// Posted to the main window when what a command acts on may have changed (the selected
// program, the group editor shown or closed): its bars show the commands' states again.
extern const UINT g_nMsgCommandStatesChanged;
// Sent to the left pane when the user chose to apply what the group editor holds before
// it is given another group; answers 1 when the group was applied (and the editor closed).
extern const UINT g_nMsgApplyGroupEditor;
// Sent to the left pane: answers 1 while the group editor holds typing not applied yet.
extern const UINT g_nMsgGroupEditorTyped;

class CUiManager
{
public:
    static CUiManager* GetInstance();

    virtual void ShowGroupsBar(bool bShow);
    virtual void ShowDetailsBar(bool bShow);
    virtual void ShowProgramDetails(ProgramEntry* pEntry);
    // Opens the group (-1: a new one) in the editor. While the editor holds typing not
    // applied yet, the user is asked first whether to apply it: Yes applies it and goes
    // on, No drops it and goes on, Cancel leaves the editor as it is. False when the
    // editor was not given the group (refused behind a box, Cancel, an Apply that did
    // not go through).
    virtual bool ShowGroupEditor(int nGroupId);
    virtual void CloseGroupEditor();
    virtual void RefreshGroups();
    virtual void RefreshPrograms(bool bFilterOnly);
    virtual void CopySelection();
    virtual void OptionsChanged();
    virtual void UpdateStatusBar();
    // The small icon of a file by path (cached by path alone); with bUseDefault the
    // cache's default icon serves for a file without icons.
    virtual HICON GetProgramIcon(const char* pszPath, int nIndex, bool bUseDefault);

    // The program the list shows selected (owned by the catalogue), or NULL. The list
    // page alone sets it, on every change of its selection.
    ProgramEntry* GetSelectedProgram() const { return m_pSelectedProgram; }
    void SetSelectedProgram(ProgramEntry* pEntry);

    // The program a command acts on now, or NULL: the program the list shows selected,
    // only while the commands reach the list (IsProgramListInReach). Every command of the
    // main window and every state it shows asks this one question.
    ProgramEntry* GetTargetProgram() const;
    // The commands reach the program list: it is on screen and no modal window of the
    // program is up. The commands that need no program (the copies, View Registry Entry,
    // Add to Group) are offered only then.
    bool IsProgramListInReach() const;
    // The program list is on screen: the list and the panes holding it are shown, the
    // group editor is not shown in its place, and some of it lies inside each of them
    // and in a monitor's work area. The top-level window's own visibility does not
    // count (the first refresh runs before it shows). The windows are asked each time, so
    // a move or a resize counts at once; the monitors are asked once (m_WorkAreas).
    bool IsProgramListOnScreen() const;
    // Whether a message that reaches the main window or one of its panes must be refused
    // now (CInputRule::TakesCommands is false): a command (from a menu, an accelerator, a
    // toolbar, a button, the system menu's own items or Close, or posted), a context menu,
    // or one of the application's messages that act: refresh, copy, options changed, the
    // group editor shown or closed. The messages that
    // only show something (a pane shown or hidden, the details, the status bar, the groups
    // tree) and a control's other notifications pass.
    static bool RefusesMessage(UINT message, WPARAM wParam, LPARAM lParam);
    // The group editor is shown in the program list's place.
    bool IsGroupEditorOpen() const { return m_bGroupEditorOpen; }
    // The group editor is open and its fields differ from what it was opened with: the
    // user typed something not applied yet, which no other group may replace unasked.
    // The editor knows; it is asked.
    bool IsGroupEditorTyped() const;
    // The one question before something replaces or ends the group editor while it holds
    // typing not applied yet (another group opened in it, the main window closed): whether
    // to apply it. Yes applies it, No drops it, Cancel keeps it. True to go on (nothing
    // typed, applied, or dropped); false to stay as it is (Cancel, an Apply that did not
    // go through, or a box of the program already up, behind which nothing is asked).
    bool SettleGroupEditorTyping();
    // A message box owned by the top-level window that holds hWnd, under that window's
    // title: the way the program's questions and refusals show.
    static int ShowBoxOver(HWND hWnd, LPCTSTR pszText, UINT nType);
    // Asks the main window to show the commands' states again, soon.
    void CommandStatesChanged();

    HWND m_hWndLeftPane;
    HWND m_hWndRightPane;
    HWND m_hWndDetailsPane;
    HWND m_hWndGroupsPage;
    HWND m_hWndProgramList;  // the list page's list control, set by the list page
    CExtIconCache m_IconCache;
    // The monitors' work areas, which decide whether the list is on screen.
    mutable CWorkAreas m_WorkAreas;
    unsigned int m_nTotalPrograms;
    unsigned int m_nShownPrograms;

protected:
    CUiManager();
    virtual ~CUiManager();

private:
    // Written by ShowGroupEditor and CloseGroupEditor alone, so it says what the screen
    // shows: every way the editor opens or closes (New, Edit, a double-click, Apply,
    // Cancel, the caption's close button) goes through them.
    bool m_bGroupEditorOpen;
    ProgramEntry* m_pSelectedProgram;  // owned by the catalogue

    CUiManager(const CUiManager&) = delete;
    CUiManager& operator=(const CUiManager&) = delete;
};
