// Dynamic bars: CExtDynamicControlBar, a resizable bar whose one content window is shown
// floating, docked, as a document of its frame's site or pinned into an auto-hide area,
// with the state archived as four DWORDs; its three caption buttons; the site that a
// frame may own to give dynamic bars a document form (MDI child windows or pages of a
// tab page container); and the document frame that hosts a content window.
//
// The site is found from any window through a registered message, so a bar never keeps
// more of it than a cached pointer.
#pragma once
#include "framework/mdi.h"
#include "toolkit/bars/control_bar.h"
#include "toolkit/core/cmd_icon.h"
#include "toolkit/core/hook_sink.h"

class CExtDynamicControlBar;
class CExtDynamicMDIChildWnd;
class CExtTabPageContainerWnd;

class CExtDynamicBarSite : public CExtHookSink
{
public:
    // How the site shows documents.
    enum eDetectedUiType_t
    {
        __EDUIT_NOT_SUPPORTED = 0,
        __EDUIT_MDI_STANDARD = 1,
        __EDUIT_MDI_WITH_TABS = 2,
        __EDUIT_TAB_PAGE_CONTAINER = 3,
        __EDUIT_UNKNOWN = 4,  // the site refreshes itself before its windows are read
    };

    static const UINT g_nMsgFindDynamicBarSite;

    CExtDynamicBarSite();
    virtual ~CExtDynamicBarSite();

    // Answers the find message on the frame from now on.
    bool Install(CFrameWnd* pDockSite);
    void Uninstall();
    CFrameWnd* GetDockSite() const { return m_pDockSite; }

    static CExtDynamicBarSite* FindBarSite(HWND hWnd);
    static CExtDynamicBarSite* FindBarSiteByWnd(CWnd* pWnd);

    virtual eDetectedUiType_t GetDetectedUiType() const { return m_eUiType; }
    void SetDetectedUiType(eDetectedUiType_t eUiType) { m_eUiType = eUiType; }
    CExtTabPageContainerWnd* GetTabPageContainer();
    HWND GetMdiClient();
    HWND GetActiveMdiChild(bool* pbMaximized, CMDIChildWnd** ppChild);

    // The bars the site keeps (a bar created elsewhere joins with BarAdd).
    void BarAdd(CExtDynamicControlBar* pBar);
    bool BarIsKnown(CExtDynamicControlBar* pBar) const;
    INT_PTR BarCount() const { return m_mapBars.GetCount(); }
    virtual void OnBarDestroyed(CExtDynamicControlBar* pBar, bool bForce);
    // The frame object for a bar's document (no window yet); the base makes a plain one.
    virtual CExtDynamicMDIChildWnd* OnCreateDocumentFrame(CExtDynamicControlBar* pBar);
    // The control id of a bar that went is free again.
    virtual void OnBarIdReleased(UINT nCtrlID);
    // Mode 4: finds the MDI client and the tab page container of the frame again.
    virtual void OnRefreshSite();
    // A button of the document container's strip was clicked (the strip's hit code and
    // mouse arguments); the answer goes back to the strip. Releasing the left button on
    // the close button closes the selected document: its bar docks again, hidden.
    virtual bool OnTabPageContainerClickedButton(int nHitTest, bool bButtonPressed, int nMouseButton,
                                                 UINT nMouseEventFlags);

    bool OnHookWndMsg(LRESULT& lResult, HWND hWndHooked, UINT nMessage, WPARAM& wParam, LPARAM& lParam) override;

    CFrameWnd* m_pDockSite;
    eDetectedUiType_t m_eUiType;
    HWND m_hWndMdiClient;
    CExtTabPageContainerWnd* m_pTabPageContainer;
    CMapPtrToPtr m_mapBars;
    CDWordArray m_arrReleasedIds;  // what OnBarIdReleased was told, in order
};

class CExtDynamicControlBar : public CExtControlBar
{
    DECLARE_DYNCREATE(CExtDynamicControlBar)
public:
    enum eDynamicBarState_t
    {
        __EDBS_FLOATING = 0,
        __EDBS_DOCKED = 1,
        __EDBS_DOCUMENT = 2,
        __EDBS_AUTO_HIDDEN = 3,
    };
    // The options menu and its commands.
    enum
    {
        __EDB_MENU_ID = 30378,
        __EDB_CMD_DOCKED = 30379,
        __EDB_CMD_FLOATING = 30380,
        __EDB_CMD_DOCUMENT_MDI = 30381,
        __EDB_CMD_DOCUMENT_TABS = 30382,
        __EDB_CMD_AUTO_HIDDEN = 30383,
        __EDB_CMD_HIDE = 30384,
    };

    CExtDynamicControlBar();
    virtual ~CExtDynamicControlBar();

    // ---- overrides of the bar base ------------------------------------------------------
    void OnBarStateSerialized(bool bStoring) override;
    bool IsTabMateAllowed(const CExtControlBar* pBar) const override { return OnQueryTabMate(pBar); }
    bool OnQueryTabMate(const CExtControlBar* pBar) const override;
    // A floating dynamic bar is dragged without docking.
    void DragUpdate(const POINT& ptScreen, bool bNoDocking) override;
    bool IsTabShown() const override { return OnQueryTabShown(); }
    bool OnQueryTabShown() const override;
    int OnGetBarCaptionText(int nType, CString& sText) const override;
    void CreateNcAreaButtons() override;
    void OnPaintManagerInstalled(CExtPaintManager* pPM) override;
    LRESULT WindowProc(UINT nMessage, WPARAM wParam, LPARAM lParam) override;

    // ---- own operations -----------------------------------------------------------------
    virtual eDynamicBarState_t GetBarState(bool* pbVisible = NULL) const;
    virtual bool SetBarState(DWORD dwState, bool bShow);
    virtual bool OnQueryCustomState() const { return false; }  // no behaviour of its own
    virtual bool FillOptionsMenu(CExtPopupMenuWnd* pPopup, HWND hWndCmdReceiver, CExtBarNcAreaButton* pButton,
                                 bool bAddToExisting);
    virtual CExtDynamicMDIChildWnd* CreateDocumentFrame();
    virtual void EnterDocumentMode();
    virtual void LeaveDocumentMode();
    virtual HWND GetContentWindow();
    // Stores or loads the four DWORDs; a short or damaged archive throws the framework's
    // archive exception and leaves the bar as it was.
    virtual void SerializeState(CArchive& ar);
    virtual bool InsertCommandIntoMenu(CExtPopupMenuWnd* pPopup, int nPos);

    CExtDynamicBarSite* GetBarSite();
    bool IsVisibleNow() const { return m_hWnd != NULL && IsVisible(); }

    // ---- fields, in record order ----------------------------------------------------------
    CExtDynamicBarSite* m_pBarSite;
    BYTE m_nDynFlags;  // bit 0: read by the site when the bar goes
    UINT m_nMdiMenuResourceID;
    UINT m_nMdiAccelTableResourceID;
    CString m_strCaptionText;
    CExtCmdIcon m_icon;
    DWORD m_dwHiddenFlags;  // bit 0: hidden in the current state
    DWORD m_eBarState;
    HWND m_hWndContent;
    DWORD m_eLastRequestedState;
    bool m_bLastShowFlag;

protected:
    void ApplyStateToTabGroup(DWORD dwState);
    void EnterDocumentTabPage(HWND hWndContent, CExtDynamicBarSite* pSite, const CString& sTitle);
    void EnterDocumentMdiChild(HWND hWndContent, CExtDynamicBarSite* pSite, const CString& sTitle);
    void MarkOptionsMenuItems(CExtPopupMenuWnd* pPopup, int nFirst, CExtDynamicBarSite::eDetectedUiType_t eMode);
    bool RefreshHiddenFlag(UINT nMessage);
    void RestoreMenuButton();
};

class CExtDynamicBarNcAreaButtonClose : public CExtBarNcAreaButtonClose
{
    DECLARE_DYNCREATE(CExtDynamicBarNcAreaButtonClose)
public:
    explicit CExtDynamicBarNcAreaButtonClose(CExtControlBar* pBar = NULL);
    bool OnNcAreaClicked(CPoint point) override;
};

class CExtDynamicBarNcAreaButtonAutoHide : public CExtBarNcAreaButtonAutoHide
{
    DECLARE_DYNCREATE(CExtDynamicBarNcAreaButtonAutoHide)
public:
    explicit CExtDynamicBarNcAreaButtonAutoHide(CExtControlBar* pBar = NULL);
    bool OnNcAreaClicked(CPoint point) override;
};

class CExtDynamicBarNcAreaButtonMenu : public CExtBarNcAreaButtonMenu
{
    DECLARE_DYNCREATE(CExtDynamicBarNcAreaButtonMenu)
public:
    explicit CExtDynamicBarNcAreaButtonMenu(CExtControlBar* pBar = NULL);
    bool OnQueryVisibility() const override;
    bool OnQueryAutoHideSlideIn() const override { return false; }
    bool OnNcAreaClicked(CPoint point) override;
    // The dynamic bar the menu is for: the owner, or a tabbed group's selected page.
    CExtDynamicControlBar* GetMenuBar(bool bFirstWhenNoSelection) const;
};

// The document frame of a content window: hands the window back to its bar when it goes.
class CExtDynamicMDIChildWnd : public CMDIChildWnd
{
    DECLARE_DYNCREATE(CExtDynamicMDIChildWnd)
public:
    explicit CExtDynamicMDIChildWnd(CExtDynamicControlBar* pBar = NULL);
    virtual ~CExtDynamicMDIChildWnd();

    CExtDynamicControlBar* GetBar() const;
    HWND m_hWndBar;
    HWND m_hWndContent;
    CExtCmdIcon m_icon;

protected:
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnDestroy();
    afx_msg void OnSetFocus(CWnd* pOldWnd);
    DECLARE_MESSAGE_MAP()
};
