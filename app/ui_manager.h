// The application's UI mediator. The panes of the main window never call each other:
// each registers its window here, and every cross-pane request is one operation that
// sends one registered message, synchronously, to the pane that handles it. The
// mediator also holds what several panes share: the selected program, the counts of
// programs found and shown, whether the group editor is open, and an icon cache.
#pragma once
#include "framework/framework.h"
#include "app/icon_cache.h"
#include <vector>

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
    // a move or a resize counts at once; the monitors are asked once (WorkAreas).
    bool IsProgramListOnScreen() const;
    // Some of the rectangle (screen coordinates) lies in a monitor's work area.
    bool LiesOnAMonitor(const RECT& rcScreen) const;
    // The displays or the system's settings changed (the main window's WM_DISPLAYCHANGE
    // and WM_SETTINGCHANGE, which also come when the taskbar moves): the monitors' work
    // areas are read again at the next question.
    void DisplaysChanged();
    // A modal window of the program is up (a message box, a dialog, a running
    // program's wait): it disables the main window, which then takes no command.
    static bool IsModalWindowUp();
    // Whether the main window and its panes take a command now: not while a modal window
    // of the program is up or one of the program's commands runs. A box's answer is about
    // what it named, and nothing may act behind it. Every way a command comes asks this
    // one question: the accelerators, WM_COMMAND to the main window or to a pane, and the
    // application's messages that act (RefusesMessage).
    static bool TakesCommands();
    // Whether a message that reaches the main window or one of its panes must be refused
    // now (TakesCommands is false): a command (from a menu, an accelerator, a toolbar, a
    // button, the system menu's own items or Close, or posted), a context menu, or one of
    // the application's messages that act:
    // refresh, copy, options changed, the group editor shown or closed. The messages that
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

    // What the program list shows under the pointer changed now, while the main window
    // shows: its rows were filled again or sorted, or a box or the group editor that lay
    // over them closed. Input the user aimed at the screen as it was must not act on it.
    void ProgramListChanged();
    // A new program list: nothing has changed under the pointer yet.
    void ForgetProgramListChange() { m_bListChanged = false; }
    // Whether the program list takes a key or a click the user made at dwTime (the
    // message's time): none while the main window takes no command, no key made before
    // the list last changed, and no click made before the system's double-click time has
    // passed since, so that neither half of a double-click aimed at the old rows lands
    // on the new ones. The one rule for input that reaches the list.
    bool TakesListInput(UINT message, DWORD dwTime) const;
    // Whether a message is a key or a click (or a move of the pointer) in the client
    // area of the main window or one of its panes.
    static bool IsMainWindowInput(const MSG& msg);
    // Whether such input (IsMainWindowInput) is dropped unhandled: while the main window
    // takes no command (TakesCommands), behind a modal window of the program or while a
    // program's command runs, nothing of it takes a key or a click, however the system
    // routes them (a disabled window's children still get the keys while one of them has
    // the focus, and a system may deliver clicks to them). Every loop asks it before it
    // dispatches: the wait for a program, the framework's loops (through the
    // application's PreTranslateMessage) and the system's own, a message box's, a dialog
    // box's or a menu's (through the thread's message filter).
    static bool RefusesMainWindowInput(const MSG& msg);
    // Takes the keys and clicks queued for the main window and its panes off the queue
    // unhandled: they were made while the window could not take them (the list was read
    // again, a program's command ran) and were aimed at what it showed then.
    static void DropMainWindowInput();

    HWND m_hWndLeftPane;
    HWND m_hWndRightPane;
    HWND m_hWndDetailsPane;
    HWND m_hWndGroupsPage;
    HWND m_hWndProgramList;  // the list page's list control, set by the list page
    CExtIconCache m_IconCache;
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
    // When what the program list shows last changed (GetTickCount), once it has.
    bool m_bListChanged = false;
    DWORD m_dwListChanged = 0;

    // The monitors' work areas, read at the first question after a change of the
    // displays: every command state asks whether the list is on screen (a menu opened
    // asks once per item), and asking the system for its monitors each time is felt.
    const std::vector<RECT>& WorkAreas() const;
    mutable std::vector<RECT> m_workAreas;
    mutable bool m_bWorkAreasRead;

    CUiManager(const CUiManager&) = delete;
    CUiManager& operator=(const CUiManager&) = delete;
};
