// CExtMenuControlBar: the menu bar, a toolbar whose buttons are the top-level items of a
// window menu. It takes the menu off the window that hosts it (a frame, or the parent
// dialog), opens each popup as a toolkit popup menu, follows menu changes, the active MDI
// child and its maximized state through window hooks on the host, the MDI client and the
// child, offers the system menus, and drives the keyboard: Alt alone or F10 enters
// keyboard selection, Alt+letter opens a menu by its mnemonic, the arrows move between
// menus.
//
// control_bar.h includes this header where the class belongs among the bars, so the
// include comes before the guard: whichever header a file names first, the class is
// declared in the family's order.
#include "toolkit/bars/control_bar.h"

#ifndef TOOLKIT_BARS_MENU_BAR_H_INCLUDED
#define TOOLKIT_BARS_MENU_BAR_H_INCLUDED

#include "toolkit/core/hook_sink.h"

class CExtBarMdiRightButton;
class CExtCustomizeCmdTreeNode;
class CExtPopupMenuWnd;
class CExtMenuControlBar;

// The layout record of the MDI caption-button group at the end of a menu bar.
struct MDI_RIGHT_BUTTONS_INFO
{
    CWnd* m_pWndMdiChildFrame;
    CExtMenuControlBar* m_pBar;
    int m_cxButton, m_cyButton;
    int m_cxGroup, m_cyGroup;
    BYTE m_nFlags;  // the parts the child has, below
    RECT m_rcClose, m_rcMaximize, m_rcRestore, m_rcMinimize, m_rcHelp;

    enum
    {
        __MRBF_VALID = 0x01,     // there is a child
        __MRBF_CLOSE = 0x02,     // its system menu has an enabled close command
        __MRBF_MAXIMIZE = 0x04,  // maximize box
        __MRBF_MINIMIZE = 0x08,  // minimize box
        __MRBF_HELP = 0x10,      // context help; set only together with a maximize box
    };

    MDI_RIGHT_BUTTONS_INFO();
    bool IsValid() const { return (m_nFlags & __MRBF_VALID) != 0; }
};

class CExtMenuControlBar : public CExtToolControlBar, public CExtHookSink
{
    DECLARE_DYNCREATE(CExtMenuControlBar)
public:
    // State flags (m_nMenuBarState).
    enum
    {
        __EMBS_FLAT_TRACKING = 0x01,      // a button is highlighted from the keyboard
        __EMBS_SYSMENU_TRACKING = 0x02,   // a system menu opened by the bar tracks
    };
    // Option flags (m_nMenuBarOptions).
    enum
    {
        __EMBO_MDI_MODE = 0x01,
        __EMBO_MULTI_ROW = 0x02,
        __EMBO_SYNC_POSTED = 0x04,
        __EMBO_UPDATE_POSTED = 0x08,
        __EMBO_KEYBOARD_MENUS = 0x10,
        __EMBO_FRAME_SYSMENU = 0x20,
        __EMBO_CHILD_SYSMENU = 0x40,
        __EMBO_DOC_BUTTON_OPTION = 0x80,
    };
    // Window timers.
    enum
    {
        __TIMER_SYNC_ACTIVE_CHILD = 13,
        __TIMER_UPDATE_MENU_BAR = 14,
        __TIMER_FIND_MDI_CLIENT = 15,
        __TIMER_REMOVE_FRAME_MENU = 16,
    };
    // The created-for-a-menu-bar-popup bit of a command item's state.
    enum
    {
        __MENUBAR_POPUP_CMD_STATE = 0x40,
    };

    CExtMenuControlBar();
    virtual ~CExtMenuControlBar();

    // ---- operations of the menu bar, in table order -------------------------------------
    virtual void GetMdiRightButtonsInfo(MDI_RIGHT_BUTTONS_INFO& info, CExtBarMdiRightButton* pButton, bool bHorz);
    virtual void UpdateFlatTracking(bool bRedraw = true);
    virtual void EndFlatTracking(bool bRedraw = true);
    // A popup of the bar has closed (a command, Esc, a click elsewhere): no title keeps
    // a hot, pressed or selected look, but the one whose popup opens next.
    void ClearTitleHighlights();
    virtual bool IsMdiMode() const;
    virtual bool UpdateMenuBar(bool bRecalcLayout = true);
    virtual CMenu* GetActiveMenu();
    virtual HWND GetActiveMdiChild(BOOL* pbMaximized = NULL);
    virtual bool SyncMdiButtons(bool bRecalcLayout = true);
    virtual bool SyncActiveMdiChildHook();
    virtual bool TrackSystemMenu(CWnd* pWnd, const POINT* pPt, bool bSelectAny, const RECT* prcExclude, UINT nFlags,
                                 bool bCombined);
    virtual bool HookMdiClient(HWND hWndMdiClient);
    virtual void PostSyncActiveMdiChild();
    virtual void PostUpdateMenuBar();
    virtual void SetMdiWindowPopupName(LPCTSTR sName = NULL);
    virtual bool LoadMenuBar(UINT nResourceID);
    virtual bool FrameKeyboardFilter(MSG* pMsg);
    // A hooked window's message offered to FrameKeyboardFilter; true (with a zero
    // result) when the filter took it.
    bool FilterHookedKey(LRESULT& lResult, HWND hWndHooked, UINT nMessage, WPARAM wParam, LPARAM lParam);
    virtual bool TrackFrameSystemMenu(const POINT* pPt, bool bSelectAny);
    virtual bool TrackMdiChildSystemMenu(const POINT* pPt, bool bSelectAny);
    virtual CExtCustomizeCmdTreeNode* GetCustomizeMenuNode();
    virtual CExtCustomizeCmdTreeNode* DetachCustomizeMenuNode();
    virtual CExtCustomizeCmdTreeNode* SetCustomizeMenuNode(CExtCustomizeCmdTreeNode* pNode);
    virtual void SyncCustomizeMenuNode();
    virtual void RemoveFrameMenu();
    virtual bool IsMdiButtonsEnabled() const;

    // ---- overrides of the toolbar and the control bar -----------------------------------
    BOOL PreTranslateMessage(MSG* pMsg) override;
    CExtBarContentExpandButton* CreateContentExpandButton() override;
    bool IsRightToLeftLayout() const override;
    bool IsRightToLeftButtonOrder() const override;
    BOOL TrackButtonMenu(int nIndex, BOOL bSelectAny = FALSE, BOOL bDelayed = FALSE, BOOL bKeyboard = FALSE) override;
    void RecalcButtonPositions() override;
    CSize GetDefaultButtonSize() const override;
    bool IsMultiRowLayout() const override;
    bool ProcessMouseMove(UINT nFlags, CPoint point) override;
    void RecalcParentFrameLayout() override;
    // A drag of the bar ends keyboard selection and any open button menu first.
    void OnStartDragging() override;
    void OnDraggingDone(const InternalDraggingState_t& stateOld, const InternalDraggingState_t& stateNew,
                        bool bCancel) override;

    // ---- the hook on the host, the MDI client and the active MDI child ------------------
    bool OnHookWndMsg(LRESULT& lResult, HWND hWndHooked, UINT nMessage, WPARAM& wParam, LPARAM& lParam) override;

    // ---- queries --------------------------------------------------------------------------
    bool IsFlatTracking() const { return (m_nMenuBarState & __EMBS_FLAT_TRACKING) != 0; }
    int GetFlatTrackingIndex() const { return m_nFlatTrackingIndex; }
    HWND GetHookedWnd() const { return m_hWndHooked; }
    CString GetMdiWindowPopupName() const { return m_sMdiWindowPopupName; }
    // The MDI client of the docking frame: the MDI frame's own, else its first child of
    // the class "mdiclient"; NULL when there is none.
    HWND FindMdiClient() const;
    // The window that receives the commands of the bar: the owner in a dialog, else the
    // docking frame.
    CWnd* GetCommandWnd() const;

    static bool g_bIgnoreAltRelease;
    static bool g_bAltNumpadSequence;
    static const UINT g_nMsgPrepareSystemMenu;

    // ---- fields, in order -----------------------------------------------------------------
    UINT m_nMdiButtonsCmdID;
    HWND m_hWndHooked;
    CString m_sMdiWindowPopupName;
    BYTE m_nMenuBarState;
    int m_nFlatTrackingIndex;
    int m_nOldTrackingIndex;
    CMenu m_menuOwn;  // owned: taken from the frame or loaded
    CMenu m_menuMdi;  // borrowed from the MDI frame: detached, never destroyed
    CExtCustomizeCmdTreeNode* m_pCustomizeMenuNode;
    BYTE m_nMenuBarOptions;

protected:
    bool IsInDialog() const { return (m_nOptionFlags & __ESF_OUTSIDE_FRAME) != 0; }
    // Keeps the own menu and forgets which frame menu was adopted last.
    void SetOwnMenu(HMENU hMenu, bool bLoadedHere);
    bool m_bOwnMenuLoadedHere;

    // Steps of the keyboard filter.
    bool FilterAltKey(bool bKeyUp, bool bCustomize, bool bPreviewOrCombo);
    bool FilterSystemKeys(const MSG* pMsg, UINT nKey, bool bKeyUp, bool bCustomize);
    bool FilterMnemonic(UINT nKey, bool bKeyUp);
    bool FilterNavigation(UINT nKey, bool bKeyUp);
    int FindSelectableButton(int nFrom, bool bForward) const;
    // The hook's branches per hooked window.
    bool HookHostMsg(LRESULT& lResult, HWND hWndHooked, UINT nMessage, WPARAM wParam, LPARAM lParam);
    bool HookChildMsg(LRESULT& lResult, HWND hWndHooked, UINT nMessage, WPARAM wParam, LPARAM lParam);
    bool HookMdiClientMsg(LRESULT& lResult, HWND hWndHooked, UINT nMessage, WPARAM wParam, LPARAM lParam);
    // A next (bNext) or previous menu request from an open popup; true when eaten.
    bool MoveBetweenMenus(bool bNext, bool bFromChild);
    void OpenButtonMenuAt(int nIndex);
    void ReleaseBarCapture(bool bAnyBar);
    bool IsDropDownComboFocused() const;
    CFrameWnd* DockingFrame() const;

    virtual void PreSubclassWindow();

    afx_msg int OnCreate(LPCREATESTRUCT lpcs);
    afx_msg void OnDestroy();
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg LRESULT OnTrackButtonMenu(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()
};

#endif
