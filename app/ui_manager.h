// The application's UI mediator. The panes of the main window never call each other:
// each registers its window here, and every cross-pane request is one operation that
// sends one registered message, synchronously, to the pane that handles it. The
// mediator also holds what several panes share: the selected program, the counts of
// programs found and shown, whether the group editor is open, and an icon cache.
#pragma once
#include "framework/framework.h"
#include "app/icon_cache.h"

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

class CUiManager
{
public:
    static CUiManager* GetInstance();

    virtual void ShowGroupsBar(bool bShow);
    virtual void ShowDetailsBar(bool bShow);
    virtual void ShowProgramDetails(ProgramEntry* pEntry);
    virtual void ShowGroupEditor(int nGroupId);
    virtual void CloseGroupEditor();
    virtual void RefreshGroups();
    virtual void RefreshPrograms(bool bFilterOnly);
    virtual void CopySelection();
    virtual void OptionsChanged();
    virtual void UpdateStatusBar();
    // The small icon of a file by path (cached by path alone); with bUseDefault the
    // cache's default icon stands in for a file without icons.
    virtual HICON GetProgramIcon(const char* pszPath, int nIndex, bool bUseDefault);

    // The program the list shows selected (owned by the catalogue), or NULL.
    ProgramEntry* GetSelectedProgram() const { return m_pSelectedProgram; }

    HWND m_hWndLeftPane;
    HWND m_hWndRightPane;
    HWND m_hWndDetailsPane;
    HWND m_hWndGroupsPage;
    CExtIconCache m_IconCache;
    bool m_bGroupEditorOpen;
    ProgramEntry* m_pSelectedProgram;  // owned by the catalogue
    unsigned int m_nTotalPrograms;
    unsigned int m_nShownPrograms;

protected:
    CUiManager();
    virtual ~CUiManager();

private:
    CUiManager(const CUiManager&) = delete;
    CUiManager& operator=(const CUiManager&) = delete;
};
