// The main dialog: the program's only top-level window. A menu bar, a toolbar and a
// status bar over the left pane, which holds every other pane. It owns the program's
// commands and decides which are enabled for the selected program, shows the program
// counts in the status bar and, when it closes, lets the panes store their state before
// the options are saved.
#pragma once
#include "framework/framework.h"
#include "toolkit/bars/control_bar.h"
#include "toolkit/dialogs/nc_frame_dialog.h"
#include "toolkit/dialogs/resizable_dialog.h"
#include "app/page_uninstall.h"

class ProgramEntry;

class CPurgeletDlg : public CExtNCW<CExtResizableDialog>
{
public:
    // The main toolbar, without the content-expand button.
    class CExtToolBar : public CExtToolControlBar
    {
    protected:
        CExtBarContentExpandButton* CreateContentExpandButton() override;
    };

    explicit CPurgeletDlg(CWnd* pParent = NULL);
    virtual ~CPurgeletDlg();

    CExtToolBar m_wndToolBar;
    CExtMenuControlBar m_wndMenuBar;
    CExtStatusControlBar m_wndStatusBar;
    CPageUninstall m_pageUninstall;
    HICON m_hIcon;
    HACCEL m_hAccel;
    // Set once the status pane has shown the program counts: from then on the idle
    // message brings the counts back instead of the idle text.
    bool m_bCountsShown;
    // Set once the initialisation is over: the session's messages that come before (a wait
    // for the groups file answers them) find nothing of this run to store.
    bool m_bInitialised;

    // The warning shown before the entry of the program named is removed.
    static CString RemoveWarning(const std::string& strName);
    // The message shown when the program named lost its entry while the warning was up.
    static CString RemovedEntryGone(const std::string& strName);
    // The message shown when the key was rewritten for another program meanwhile.
    static CString RemovedEntryChanged(const std::string& strName);
    // The message shown when the registry refused; it gives the system's reason.
    static CString RemoveFailed(const std::string& strName, LONG nError);

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    void OnOK() override;
    void OnCancel() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

    // Steps of OnInitDialog.
    void AddAboutToSystemMenu();
    void RegisterCommands();
    bool CreateToolBar();
    bool CreateStatusBar();
    void CreatePages();
    void RepositionAllBars();

    // The program the commands act on now (the mediator answers), or NULL.
    static ProgramEntry* GetTargetProgram();
    // Runs one of the selected program's command lines, then refreshes the list.
    void RunSelectedCommand(const std::string ProgramEntry::*pCommand);
    void ShowBrowserPage(const char* pszAddress);
    void ShowStatusText(const CString& strText);

    afx_msg void OnSysCommand(UINT nID, LPARAM lParam);
    afx_msg void OnClose();
    afx_msg void OnPaint();
    afx_msg HCURSOR OnQueryDragIcon();
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnDestroy();
    afx_msg BOOL OnQueryEndSession();
    afx_msg void OnEndSession(BOOL bEnding);
    // What the window's close stores, stored while it stays open (the session ends):
    // the group editor's typing (applied, or kept for the next start), the panes'
    // sizes, groups not yet written, then the options. A groups file another program
    // holds is waited for a little only with bWaitForHeldFile.
    void StoreUserState(bool bWaitForHeldFile);
    afx_msg LRESULT OnUpdateStatusBar(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnSetMessageString(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnCommandStatesChanged(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnStaysUp(WPARAM wParam, LPARAM lParam);

    afx_msg void OnEditCopy();
    afx_msg void OnEditCopyApplication();
    afx_msg void OnEditCopyPublisher();
    afx_msg void OnUninstall();
    afx_msg void OnUninstallQuiet();
    afx_msg void OnModify();
    afx_msg void OnRemoveEntry();
    afx_msg void OnAddToGroup();
    afx_msg void OnOpenFolder();
    afx_msg void OnRegistryEntry();
    afx_msg void OnRefresh();
    afx_msg void OnViewGroups();
    afx_msg void OnViewDetails();
    afx_msg void OnOptions();
    afx_msg void OnHelp();
    afx_msg void OnAbout();
    afx_msg void OnTolvexRelay();

    afx_msg void OnUpdateAlways(CCmdUI* pCmdUI);
    afx_msg void OnUpdateListShown(CCmdUI* pCmdUI);
    afx_msg void OnUpdateUninstall(CCmdUI* pCmdUI);
    afx_msg void OnUpdateUninstallQuiet(CCmdUI* pCmdUI);
    afx_msg void OnUpdateModify(CCmdUI* pCmdUI);
    afx_msg void OnUpdateRemoveEntry(CCmdUI* pCmdUI);
    afx_msg void OnUpdateAddToGroup(CCmdUI* pCmdUI);
    afx_msg void OnUpdateOpenFolder(CCmdUI* pCmdUI);
    afx_msg void OnUpdateViewGroups(CCmdUI* pCmdUI);
    afx_msg void OnUpdateViewDetails(CCmdUI* pCmdUI);
    DECLARE_MESSAGE_MAP()

    bool m_bAppActive;  // the application was active at the last WM_ACTIVATEAPP
    bool m_bCloseAsked;  // the close waits on the user's answer to its question

    // The control that had the focus when the window was minimised, given it back when
    // the window shows again; NULL when none is waiting.
    HWND m_hFocusBeforeMinimise;
    void KeepFocusForRestore();
    bool GiveBackFocus();
};

// InstallLocation as a folder name: blanks and one pair of surrounding quotes taken off.
std::string TrimFolderName(const std::string& location);
