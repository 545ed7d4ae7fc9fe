// CFrameWnd: a top-level window that lays its control bars out around a client pane
// (RecalcLayout through RepositionBars), routes commands to itself and then to the
// application, shows command prompts in its status bar (WM_SETMESSAGESTRING) and
// docks, floats and shows its bars.
//
// There is no document/view architecture: GetActiveView always answers NULL. No MDI,
// no OLE border negotiation beyond the classic record keeping, no print preview.
#pragma once
#include "framework/ctrlbar.h"
#include "framework/collections.h"

class CDockBar;
class CMiniDockFrameWnd;
class CView;

#ifndef ON_MESSAGE_VOID
#define ON_MESSAGE_VOID(message, memberFxn) \
    { (UINT)(message), 0, 0, 0, AfxSig_v_v, \
      (AFX_PMSG)(AFX_PMSGW)(static_cast<void (AFX_MSG_CALL CWnd::*)(void)>(memberFxn)) },
#endif

// Frame styles.
#define FWS_ADDTOTITLE 0x00008000L
#define FWS_PREFIXTITLE 0x00004000L
#define FWS_SNAPTOBARS 0x00002000L

// A system command id turned into the id of its prompt string.
#define ID_COMMAND_FROM_SC(sc) (((sc - 0xF000) >> 4) + AFX_IDS_SCFIRST)

// Position and size CreateWindowEx takes for a rectangle; rectDefault (CW_USEDEFAULT at
// the top left) lets the system choose.
void AFXAPI AfxFrameCreateMetrics(const RECT& rect, int& x, int& y, int& cx, int& cy);

class CFrameWnd : public CWnd {
    DECLARE_DYNCREATE(CFrameWnd)
public:
    static const CRect rectDefault;

    CFrameWnd();
    virtual ~CFrameWnd();

    BOOL Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle = WS_OVERLAPPEDWINDOW,
                const RECT& rect = rectDefault, CWnd* pParentWnd = NULL, LPCTSTR lpszMenuName = NULL,
                DWORD dwExStyle = 0, CCreateContext* pContext = NULL);
    virtual BOOL LoadFrame(UINT nIDResource, DWORD dwDefaultStyle = WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
                           CWnd* pParentWnd = NULL, CCreateContext* pContext = NULL);

    enum IdleFlags { idleMenu = 1, idleTitle = 2, idleNotify = 4, idleLayout = 8 };
    enum BorderCmd { borderGet = 1, borderRequest = 2, borderSet = 3 };

    BOOL m_bAutoMenuEnable;        // menu items without a handler are disabled
    UINT m_nIdleFlags;
    CPtrList m_listControlBars;    // every CControlBar* whose dock site is this frame
    CRuntimeClass* m_pFloatingFrameClass;
    CRect m_rectBorder;            // border space taken by an in-place server
    BOOL m_bInRecalcLayout;
    int m_nShowDelay;              // SW_ to apply at the owner's next idle pass, -1 none
    UINT m_nIDHelp;
    UINT m_nIDTracking;            // command whose prompt is tracked
    UINT m_nIDLastMessage;         // command whose prompt is shown
    HMENU m_hMenuDefault;
    HACCEL m_hAccelTable;          // the frame's accelerators; not owned
    BOOL m_bHelpMode;
    int m_cModalStack;             // BeginModalState depth
    CString m_strTitle;            // the title shown when FWS_ADDTOTITLE is set
    int m_nWindow;                 // number among several windows of one document (-1: only one)

    void SetTitle(LPCTSTR lpszTitle) { m_strTitle = lpszTitle != NULL ? lpszTitle : ""; }
    CString GetTitle() const { return m_strTitle; }
    // Shows m_strTitle as the window text (idle flag idleTitle asks for it).
    virtual void OnUpdateFrameTitle(BOOL bAddToTitle);

    virtual BOOL IsFrameWnd() const { return TRUE; }
    CView* GetActiveView() const { return NULL; }
    virtual CFrameWnd* GetActiveFrame() { return this; }

    // ---- layout
    virtual void RecalcLayout(BOOL bNotify = TRUE);
    void DelayRecalcLayout(BOOL bNotify = TRUE);
    virtual BOOL NegotiateBorderSpace(UINT nBorderCmd, LPRECT lpRectBorder);

    // ---- control bars and docking
    void EnableDocking(DWORD dwDockStyle);
    void DockControlBar(CControlBar* pBar, UINT nDockBarID = 0, LPCRECT lpRect = NULL);
    void DockControlBar(CControlBar* pBar, CDockBar* pDockBar, LPCRECT lpRect = NULL);
    void ReDockControlBar(CControlBar* pBar, CDockBar* pDockBar, LPCRECT lpRect = NULL);
    void FloatControlBar(CControlBar* pBar, CPoint point, DWORD dwStyle = CBRS_ALIGN_TOP);
    void ShowControlBar(CControlBar* pBar, BOOL bShow, BOOL bDelay);
    CControlBar* GetControlBar(UINT nID);
    void AddControlBar(CControlBar* pBar);
    void RemoveControlBar(CControlBar* pBar);
    CMiniDockFrameWnd* CreateFloatingFrame(DWORD dwStyle);
    DWORD CanDock(CRect rect, DWORD dwDockStyle, CDockBar** ppDockBar = NULL);

    // ---- status prompts
    virtual void GetMessageString(UINT nID, CString& rMessage) const;
    virtual CWnd* GetMessageBar();
    void SetMessageText(LPCTSTR lpszText);
    void SetMessageText(UINT nID);

    // ---- modal state (a modal dialog of this frame disables its popups too)
    virtual void BeginModalState();
    virtual void EndModalState();
    BOOL InModalState() const { return m_cModalStack != 0; }

    virtual BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo);
    virtual BOOL PreCreateWindow(CREATESTRUCT& cs);
    virtual void PostNcDestroy();
    virtual void ActivateFrame(int nCmdShow = -1);

    afx_msg void OnIdleUpdateCmdUI();
    afx_msg LRESULT OnSetMessageString(WPARAM wParam, LPARAM lParam);
    afx_msg BOOL OnBarCheck(UINT nID);
    afx_msg void OnUpdateControlBarMenu(CCmdUI* pCmdUI);
    afx_msg LRESULT OnActivateTopLevel(WPARAM wParam, LPARAM lParam);

    // The side each frame dock bar takes: dock-bar id and CBRS_ style.
    static const DWORD dwDockBarMap[4][2];

protected:
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnDestroy();
    afx_msg void OnClose();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu);
    afx_msg void OnMenuSelect(UINT nItemID, UINT nFlags, HMENU hSysMenu);

    void DestroyDockBars();
    // The idle pass of the frames this one owns (its floating frames), with their
    // delayed show or hide.
    void UpdateOwnedFrames();

    CPtrArray m_arrModalDisabled;  // windows BeginModalState disabled

    DECLARE_MESSAGE_MAP()
};
