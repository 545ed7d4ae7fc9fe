// CFrameWnd: layout of control bars, command routing, status prompts, docking.
#include "framework/frame.h"
#include "framework/dockbar.h"
#include "framework/miniframe.h"
#include "framework/app.h"
#include "framework/menu.h"
#include "framework/dc.h"

IMPLEMENT_DYNCREATE(CFrameWnd, CWnd)

const CRect CFrameWnd::rectDefault(CW_USEDEFAULT, CW_USEDEFAULT, 0, 0);

const DWORD CFrameWnd::dwDockBarMap[4][2] = {
    {AFX_IDW_DOCKBAR_TOP, CBRS_TOP},
    {AFX_IDW_DOCKBAR_BOTTOM, CBRS_BOTTOM},
    {AFX_IDW_DOCKBAR_LEFT, CBRS_LEFT},
    {AFX_IDW_DOCKBAR_RIGHT, CBRS_RIGHT},
};

BEGIN_MESSAGE_MAP(CFrameWnd, CWnd)
    ON_WM_SIZE()
    ON_WM_DESTROY()
    ON_WM_CLOSE()
    ON_WM_ERASEBKGND()
    ON_WM_INITMENUPOPUP()
    ON_WM_MENUSELECT()
    ON_MESSAGE_VOID(WM_IDLEUPDATECMDUI, &CFrameWnd::OnIdleUpdateCmdUI)
    ON_MESSAGE(WM_SETMESSAGESTRING, &CFrameWnd::OnSetMessageString)
    ON_MESSAGE(WM_ACTIVATETOPLEVEL, &CFrameWnd::OnActivateTopLevel)
    ON_UPDATE_COMMAND_UI(ID_VIEW_STATUS_BAR, &CFrameWnd::OnUpdateControlBarMenu)
    ON_COMMAND_EX(ID_VIEW_STATUS_BAR, &CFrameWnd::OnBarCheck)
    ON_UPDATE_COMMAND_UI(ID_VIEW_TOOLBAR, &CFrameWnd::OnUpdateControlBarMenu)
    ON_COMMAND_EX(ID_VIEW_TOOLBAR, &CFrameWnd::OnBarCheck)
    ON_UPDATE_COMMAND_UI(ID_VIEW_REBAR, &CFrameWnd::OnUpdateControlBarMenu)
    ON_COMMAND_EX(ID_VIEW_REBAR, &CFrameWnd::OnBarCheck)
END_MESSAGE_MAP()

// Every frame object of the process, so that a frame's idle pass can reach the floating
// frames it owns (they are top-level windows, not its descendants).
static CPtrList& AllFrames() {
    static CPtrList s_frames;
    return s_frames;
}

CFrameWnd::CFrameWnd()
    : m_bAutoMenuEnable(TRUE), m_nIdleFlags(0), m_pFloatingFrameClass(NULL), m_bInRecalcLayout(FALSE),
      m_nShowDelay(-1), m_nIDHelp(0), m_nIDTracking(0), m_nIDLastMessage(0), m_hMenuDefault(NULL), m_hAccelTable(NULL),
      m_bHelpMode(FALSE), m_cModalStack(0), m_nWindow(-1) {
    m_rectBorder.SetRectEmpty();
    AllFrames().AddTail(this);
}

CFrameWnd::~CFrameWnd() {
    POSITION posFrame = AllFrames().Find(this);
    if (posFrame != NULL) AllFrames().RemoveAt(posFrame);
    // Bars that outlive the frame forget it.
    POSITION pos = m_listControlBars.GetHeadPosition();
    while (pos != NULL) {
        CControlBar* pBar = (CControlBar*)m_listControlBars.GetNext(pos);
        if (pBar->m_pDockSite == this) pBar->m_pDockSite = NULL;
    }
    m_listControlBars.RemoveAll();
}

void AFXAPI AfxFrameCreateMetrics(const RECT& rect, int& x, int& y, int& cx, int& cy) {
    if (rect.left == CW_USEDEFAULT) {
        x = y = cx = cy = CW_USEDEFAULT;
        return;
    }
    x = rect.left;
    y = rect.top;
    cx = rect.right - rect.left;
    cy = rect.bottom - rect.top;
}

BOOL CFrameWnd::Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                       CWnd* pParentWnd, LPCTSTR lpszMenuName, DWORD dwExStyle, CCreateContext* pContext) {
    HMENU hMenu = NULL;
    if (lpszMenuName != NULL) {
        hMenu = ::LoadMenuA(AfxGetResourceHandle(), lpszMenuName);
        if (hMenu == NULL) return FALSE;
    }
    int x, y, cx, cy;
    AfxFrameCreateMetrics(rect, x, y, cx, cy);
    if (!CreateEx(dwExStyle, lpszClassName, lpszWindowName, dwStyle, x, y, cx, cy, pParentWnd->GetSafeHwnd(), hMenu,
                  (LPVOID)pContext)) {
        if (hMenu != NULL) ::DestroyMenu(hMenu);
        return FALSE;
    }
    m_hMenuDefault = hMenu;
    m_strTitle = lpszWindowName != NULL ? lpszWindowName : "";
    return TRUE;
}

BOOL CFrameWnd::LoadFrame(UINT nIDResource, DWORD dwDefaultStyle, CWnd* pParentWnd, CCreateContext* pContext) {
    m_nIDHelp = nIDResource;
    CString strTitle;
    strTitle.LoadString(nIDResource);  // the title is the first part of the string, when any
    int nNewline = strTitle.Find('\n');
    if (nNewline >= 0) strTitle = strTitle.Left(nNewline);
    m_strTitle = strTitle;
    HMENU hMenu = ::LoadMenuA(AfxGetResourceHandle(), MAKEINTRESOURCEA(nIDResource));
    LPCTSTR lpszClass = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursor(NULL, IDC_ARROW),
                                            (HBRUSH)(COLOR_WINDOW + 1),
                                            ::LoadIconA(AfxGetResourceHandle(), MAKEINTRESOURCEA(nIDResource)));
    int x, y, cx, cy;
    AfxFrameCreateMetrics(rectDefault, x, y, cx, cy);
    if (!CreateEx(0, lpszClass, strTitle, dwDefaultStyle, x, y, cx, cy, pParentWnd->GetSafeHwnd(), hMenu,
                  (LPVOID)pContext)) {
        if (hMenu != NULL) ::DestroyMenu(hMenu);
        return FALSE;
    }
    m_hMenuDefault = hMenu;
    return TRUE;
}

BOOL CFrameWnd::PreCreateWindow(CREATESTRUCT& cs) {
    if (cs.lpszClass == NULL)
        cs.lpszClass = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursor(NULL, IDC_ARROW), (HBRUSH)(COLOR_WINDOW + 1));
    // Frame styles live in the low word, where a top-level window has no class styles
    // of its own to collide with; a child frame keeps them out of the system's sight.
    if (cs.style & WS_CHILD) cs.style &= ~(FWS_ADDTOTITLE | FWS_PREFIXTITLE | FWS_SNAPTOBARS);
    return TRUE;
}

void CFrameWnd::PostNcDestroy() { delete this; }

void CFrameWnd::ActivateFrame(int nCmdShow) {
    if (nCmdShow == -1) nCmdShow = IsWindowVisible() ? SW_SHOW : SW_SHOWNORMAL;
    ShowWindow(nCmdShow);
    BringWindowToTop();
}

// ---- layout ------------------------------------------------------------------------

void CFrameWnd::RecalcLayout(BOOL bNotify) {
    if (m_bInRecalcLayout) return;
    m_bInRecalcLayout = TRUE;
    // A direct layout makes the delayed one unnecessary.
    if (m_nIdleFlags & idleNotify) bNotify = TRUE;
    (void)bNotify;
    m_nIdleFlags &= ~(idleLayout | idleNotify);

    if (GetStyle() & FWS_SNAPTOBARS) {
        // The frame takes the size its bars need.
        CRect rect(0, 0, 32767, 32767);
        RepositionBars(0, 0xFFFF, AFX_IDW_PANE_FIRST, reposQuery, &rect, &rect, FALSE);
        RepositionBars(0, 0xFFFF, AFX_IDW_PANE_FIRST, reposExtra, &m_rectBorder, &rect, TRUE);
        CalcWindowRect(&rect);
        SetWindowPos(NULL, 0, 0, rect.Width(), rect.Height(), SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOZORDER);
    } else {
        RepositionBars(0, 0xFFFF, AFX_IDW_PANE_FIRST, reposExtra, &m_rectBorder);
    }
    m_bInRecalcLayout = FALSE;
}

void CFrameWnd::DelayRecalcLayout(BOOL bNotify) { m_nIdleFlags |= (idleLayout | (bNotify ? idleNotify : 0)); }

BOOL CFrameWnd::NegotiateBorderSpace(UINT nBorderCmd, LPRECT lpRectBorder) {
    switch (nBorderCmd) {
    case borderGet:
        if (lpRectBorder == NULL) return FALSE;
        RepositionBars(0, 0xFFFF, AFX_IDW_PANE_FIRST, reposQuery, lpRectBorder);
        break;
    case borderRequest:
        return TRUE;
    case borderSet:
        if (lpRectBorder == NULL) {
            if (!m_rectBorder.IsRectNull()) {
                m_rectBorder.SetRectEmpty();  // all border space released: lay out again
                return TRUE;
            }
            return FALSE;
        }
        if (!::EqualRect(&m_rectBorder, lpRectBorder)) {
            m_rectBorder.CopyRect(lpRectBorder);
            return TRUE;
        }
        return FALSE;
    default:
        return FALSE;
    }
    return TRUE;
}

void CFrameWnd::OnSize(UINT nType, int cx, int cy) {
    CWnd::OnSize(nType, cx, cy);
    if (nType != SIZE_MINIMIZED) RecalcLayout();
}

BOOL CFrameWnd::OnEraseBkgnd(CDC* pDC) { return CWnd::OnEraseBkgnd(pDC); }

void CFrameWnd::OnIdleUpdateCmdUI() {
    if (m_nIdleFlags & idleMenu) {
        m_nIdleFlags &= ~idleMenu;
        if (m_hWnd != NULL && ::GetMenu(m_hWnd) != NULL) ::DrawMenuBar(m_hWnd);
    }
    if (m_nIdleFlags & idleTitle) OnUpdateFrameTitle(TRUE);
    if (m_nIdleFlags & idleLayout) {
        RecalcLayout((m_nIdleFlags & idleNotify) != 0);
        UpdateWindow();
    }
    // The prompt of the command being tracked, once it changed.
    if (m_nIDTracking != m_nIDLastMessage) SetMessageText(m_nIDTracking);
    m_nIdleFlags = 0;
    UpdateOwnedFrames();
}

void CFrameWnd::UpdateOwnedFrames() {
    // Collected first: an update may create or destroy frames.
    CPtrArray arrOwned;
    POSITION pos = AllFrames().GetHeadPosition();
    while (pos != NULL) {
        CFrameWnd* pFrame = (CFrameWnd*)AllFrames().GetNext(pos);
        if (pFrame != this && pFrame->m_hWnd != NULL && ::GetWindow(pFrame->m_hWnd, GW_OWNER) == m_hWnd)
            arrOwned.Add(pFrame);
    }
    for (int i = 0; i < arrOwned.GetSize(); i++) {
        CFrameWnd* pFrame = (CFrameWnd*)arrOwned[i];
        if (AllFrames().Find(pFrame) == NULL || pFrame->m_hWnd == NULL) continue;
        // A delayed hide goes first so that the frame's bars are not updated; a
        // delayed show after the update, so that it shows in its new state.
        if (pFrame->m_nShowDelay == SW_HIDE) pFrame->ShowWindow(SW_HIDE);
        if (pFrame->IsWindowVisible() || pFrame->m_nShowDelay >= 0) {
            pFrame->SendMessage(WM_IDLEUPDATECMDUI, (WPARAM)TRUE, 0);
            if (pFrame->m_hWnd != NULL) pFrame->SendMessageToDescendants(WM_IDLEUPDATECMDUI, (WPARAM)TRUE, 0, TRUE, TRUE);
        }
        if (pFrame->m_hWnd != NULL && pFrame->m_nShowDelay > SW_HIDE) pFrame->ShowWindow(pFrame->m_nShowDelay);
        pFrame->m_nShowDelay = -1;
    }
}

void CFrameWnd::OnUpdateFrameTitle(BOOL bAddToTitle) {
    m_nIdleFlags &= ~idleTitle;
    if (!bAddToTitle || !(GetStyle() & FWS_ADDTOTITLE) || m_hWnd == NULL) return;
    // Only a changed text is set: every set repaints the caption.
    char szOld[256];
    szOld[0] = 0;
    ::GetWindowTextA(m_hWnd, szOld, sizeof(szOld));
    if (m_strTitle.Compare(szOld) != 0) ::SetWindowTextA(m_hWnd, m_strTitle);
}

// ---- commands -----------------------------------------------------------------------

BOOL CFrameWnd::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
    // No views: the frame first, then the application.
    if (CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo)) return TRUE;
    CWinApp* pApp = AfxGetApp();
    if (pApp != NULL && pApp->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo)) return TRUE;
    return FALSE;
}

void CFrameWnd::OnInitMenuPopup(CMenu* pMenu, UINT, BOOL bSysMenu) {
    if (bSysMenu || pMenu == NULL) return;
    CCmdUI state;
    state.m_pMenu = pMenu;
    HMENU hParentMenu = ::GetMenu(m_hWnd);
    if (hParentMenu != NULL) {
        int nMax = ::GetMenuItemCount(hParentMenu);
        for (int i = 0; i < nMax; i++) {
            if (::GetSubMenu(hParentMenu, i) == pMenu->m_hMenu) {
                state.m_pParentMenu = CMenu::FromHandle(hParentMenu);
                break;
            }
        }
    }
    state.m_nIndexMax = pMenu->GetMenuItemCount();
    for (state.m_nIndex = 0; state.m_nIndex < state.m_nIndexMax; state.m_nIndex++) {
        state.m_nID = pMenu->GetMenuItemID(state.m_nIndex);
        if (state.m_nID == 0) continue;  // separator
        if (state.m_nID == (UINT)-1) {
            // A popup: updated through its first item, never disabled automatically.
            state.m_pSubMenu = pMenu->GetSubMenu(state.m_nIndex);
            if (state.m_pSubMenu == NULL || (state.m_nID = state.m_pSubMenu->GetMenuItemID(0)) == 0 ||
                state.m_nID == (UINT)-1)
                continue;
            state.DoUpdate(this, FALSE);
        } else {
            state.m_pSubMenu = NULL;
            state.DoUpdate(this, m_bAutoMenuEnable && state.m_nID < 0xF000);
        }
        // Handlers may have added or removed items.
        UINT nCount = pMenu->GetMenuItemCount();
        if (nCount < state.m_nIndexMax) {
            state.m_nIndex -= (state.m_nIndexMax - nCount);
            while (state.m_nIndex < nCount && pMenu->GetMenuItemID(state.m_nIndex) == state.m_nID)
                state.m_nIndex++;
        }
        state.m_nIndexMax = nCount;
    }
}

void CFrameWnd::OnMenuSelect(UINT nItemID, UINT nFlags, HMENU hSysMenu) {
    (void)hSysMenu;
    if (nFlags == 0xFFFF) {
        // The menu closed: back to the idle prompt at once.
        m_nFlags &= ~WF_NOPOPMSG;
        m_nIDTracking = m_bHelpMode ? AFX_IDS_HELPMODEMESSAGE : AFX_IDS_IDLEMESSAGE;
        SendMessage(WM_SETMESSAGESTRING, (WPARAM)m_nIDTracking);
    } else if (nItemID == 0 || (nFlags & (MF_SEPARATOR | MF_POPUP))) {
        m_nIDTracking = 0;
    } else if (nItemID >= 0xF000 && nItemID < 0xF1F0) {
        m_nIDTracking = ID_COMMAND_FROM_SC(nItemID);
    } else {
        m_nIDTracking = nItemID;
    }
    m_nFlags |= WF_NOPOPMSG;
}

BOOL CFrameWnd::OnBarCheck(UINT nID) {
    CControlBar* pBar = GetControlBar(nID);
    if (pBar != NULL) {
        ShowControlBar(pBar, (pBar->GetStyle() & WS_VISIBLE) == 0, FALSE);
        return TRUE;
    }
    return FALSE;
}

void CFrameWnd::OnUpdateControlBarMenu(CCmdUI* pCmdUI) {
    CControlBar* pBar = GetControlBar(pCmdUI->m_nID);
    if (pBar != NULL) {
        pCmdUI->SetCheck((pBar->GetStyle() & WS_VISIBLE) != 0);
        return;
    }
    pCmdUI->ContinueRouting();
}

LRESULT CFrameWnd::OnActivateTopLevel(WPARAM wParam, LPARAM) {
    // A frame losing activation to another application leaves help mode.
    if (LOWORD(wParam) == WA_INACTIVE) m_bHelpMode = FALSE;
    return 0;
}

// ---- status prompts -----------------------------------------------------------------

void CFrameWnd::GetMessageString(UINT nID, CString& rMessage) const {
    char szBuf[256];
    szBuf[0] = 0;
    if (AfxLoadString(nID, szBuf, sizeof(szBuf)) != 0) {
        // The prompt ends at the first newline; the tip follows it.
        char* p = strchr(szBuf, '\n');
        if (p != NULL) *p = 0;
    }
    rMessage = szBuf;
}

CWnd* CFrameWnd::GetMessageBar() { return GetDescendantWindow(AFX_IDW_STATUS_BAR, TRUE); }

void CFrameWnd::SetMessageText(LPCTSTR lpszText) { SendMessage(WM_SETMESSAGESTRING, 0, (LPARAM)lpszText); }
void CFrameWnd::SetMessageText(UINT nID) { SendMessage(WM_SETMESSAGESTRING, (WPARAM)nID); }

LRESULT CFrameWnd::OnSetMessageString(WPARAM wParam, LPARAM lParam) {
    UINT nIDLast = m_nIDLastMessage;
    m_nFlags &= ~WF_NOPOPMSG;
    CWnd* pMessageBar = GetMessageBar();
    if (pMessageBar != NULL) {
        LPCTSTR lpsz = NULL;
        CString strMessage;
        if (lParam != 0) {
            lpsz = (LPCTSTR)lParam;  // an explicit text
        } else if (wParam != 0) {
            if (wParam >= 0xF000 && wParam < 0xF1F0) wParam = ID_COMMAND_FROM_SC(wParam);
            GetMessageString((UINT)wParam, strMessage);
            lpsz = strMessage;
        }
        pMessageBar->SetWindowText(lpsz != NULL ? lpsz : "");
        // The frame that owns the bar tracks the same prompt.
        CFrameWnd* pFrame = pMessageBar->GetParentFrame();
        if (pFrame != NULL && pFrame != this) {
            pFrame->m_nIDLastMessage = (UINT)wParam;
            pFrame->m_nIDTracking = (UINT)wParam;
        }
    }
    m_nIDLastMessage = (UINT)wParam;
    m_nIDTracking = (UINT)wParam;
    return (LRESULT)nIDLast;
}

// ---- control bars and docking -------------------------------------------------------

void CFrameWnd::AddControlBar(CControlBar* pBar) {
    if (pBar != NULL && m_listControlBars.Find(pBar) == NULL) m_listControlBars.AddTail(pBar);
}

void CFrameWnd::RemoveControlBar(CControlBar* pBar) {
    POSITION pos = m_listControlBars.Find(pBar);
    if (pos != NULL) m_listControlBars.RemoveAt(pos);
}

CControlBar* CFrameWnd::GetControlBar(UINT nID) {
    if (nID == 0) return NULL;
    POSITION pos = m_listControlBars.GetHeadPosition();
    while (pos != NULL) {
        CControlBar* pBar = (CControlBar*)m_listControlBars.GetNext(pos);
        if (pBar->m_hWnd != NULL && (UINT)(WORD)::GetDlgCtrlID(pBar->m_hWnd) == nID) return pBar;
    }
    return NULL;
}

void CFrameWnd::EnableDocking(DWORD dwDockStyle) {
    m_pFloatingFrameClass = RUNTIME_CLASS(CMiniDockFrameWnd);
    // Created top, bottom, left, right: the horizontal dock bars come first in the
    // layout and so span the frame's whole width.
    for (int i = 0; i < 4; i++) {
        if (dwDockBarMap[i][1] & dwDockStyle & CBRS_ALIGN_ANY) {
            CDockBar* pDock = (CDockBar*)GetControlBar(dwDockBarMap[i][0]);
            if (pDock == NULL) {
                pDock = new CDockBar;
                if (!pDock->Create(this, WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_CHILD | WS_VISIBLE | dwDockBarMap[i][1],
                                   dwDockBarMap[i][0])) {
                    delete pDock;
                    AfxThrowResourceException();
                }
            }
        }
    }
}

void CFrameWnd::DockControlBar(CControlBar* pBar, UINT nDockBarID, LPCRECT lpRect) {
    CDockBar* pDockBar = (nDockBarID == 0) ? NULL : (CDockBar*)GetControlBar(nDockBarID);
    DockControlBar(pBar, pDockBar, lpRect);
}

void CFrameWnd::DockControlBar(CControlBar* pBar, CDockBar* pDockBar, LPCRECT lpRect) {
    if (pBar == NULL) return;
    if (pDockBar == NULL) {
        // The side the bar's alignment names.
        for (int i = 0; i < 4; i++) {
            if ((dwDockBarMap[i][1] & CBRS_ALIGN_ANY) == (pBar->m_dwStyle & CBRS_ALIGN_ANY)) {
                pDockBar = (CDockBar*)GetControlBar(dwDockBarMap[i][0]);
                break;
            }
        }
    }
    if (pDockBar == NULL) return;  // no dock bar on that side: EnableDocking was not asked for it
    pDockBar->DockControlBar(pBar, lpRect);
}

void CFrameWnd::ReDockControlBar(CControlBar* pBar, CDockBar* pDockBar, LPCRECT lpRect) {
    if (pBar == NULL) return;
    if (pDockBar == NULL) {
        DockControlBar(pBar, (CDockBar*)NULL, lpRect);
        return;
    }
    pDockBar->ReDockControlBar(pBar, lpRect);
}

CMiniDockFrameWnd* CFrameWnd::CreateFloatingFrame(DWORD dwStyle) {
    CRuntimeClass* pClass = m_pFloatingFrameClass != NULL ? m_pFloatingFrameClass : RUNTIME_CLASS(CMiniDockFrameWnd);
    CObject* pObject = pClass->CreateObject();
    if (pObject == NULL) AfxThrowMemoryException();
    CMiniDockFrameWnd* pFrame = DYNAMIC_DOWNCAST(CMiniDockFrameWnd, pObject);
    if (pFrame == NULL) {
        delete pObject;
        AfxThrowResourceException();
    }
    if (!pFrame->Create(this, dwStyle)) {
        if (pFrame->m_hWnd == NULL) delete pFrame;
        AfxThrowResourceException();
    }
    return pFrame;
}

void CFrameWnd::FloatControlBar(CControlBar* pBar, CPoint point, DWORD dwStyle) {
    if (pBar == NULL) return;
    // Already alone in a floating frame of the same orientation: just move the frame.
    if (pBar->m_pDockSite != NULL && pBar->m_pDockBar != NULL) {
        CDockBar* pDockBar = pBar->m_pDockBar;
        if (pDockBar->m_bFloating && pDockBar->GetDockedCount() == 1 &&
            (dwStyle & pDockBar->m_dwStyle & CBRS_ALIGN_ANY) != 0) {
            CWnd* pDockFrame = pDockBar->GetParent();
            if (pDockFrame != NULL && pDockFrame->IsFrameWnd()) {
                pDockFrame->SetWindowPos(NULL, point.x, point.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
                ((CFrameWnd*)pDockFrame)->RecalcLayout(TRUE);
                pDockFrame->UpdateWindow();
                return;
            }
        }
    }
    if (pBar->m_dwStyle & CBRS_SIZE_DYNAMIC) {
        dwStyle |= CBRS_SIZE_DYNAMIC;
        if (dwStyle & CBRS_ORIENT_VERT) {
            dwStyle &= ~CBRS_ALIGN_ANY;
            dwStyle |= CBRS_ALIGN_TOP;
        }
    }
    if (pBar->m_pDockContext != NULL) {
        if (pBar->m_pDockBar != NULL && !pBar->m_pDockBar->m_bFloating)
            pBar->m_pDockContext->m_uMRUDockID = (UINT)(WORD)pBar->m_pDockBar->GetDlgCtrlID();
        pBar->m_pDockContext->m_ptMRUFloatPos = point;
        pBar->m_pDockContext->m_dwMRUFloatStyle = dwStyle;
    }

    CMiniDockFrameWnd* pDockFrame = CreateFloatingFrame(dwStyle);
    pDockFrame->SetWindowPos(NULL, point.x, point.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    if (pDockFrame->m_hWndOwner == NULL) pDockFrame->m_hWndOwner = pBar->m_hWnd;
    pDockFrame->m_wndDockBar.DockControlBar(pBar);
    pDockFrame->RecalcLayout(TRUE);
    if (::GetWindowLongA(pBar->m_hWnd, GWL_STYLE) & WS_VISIBLE) {
        pDockFrame->ShowWindow(SW_SHOWNA);
        pDockFrame->UpdateWindow();
    }
}

void CFrameWnd::ShowControlBar(CControlBar* pBar, BOOL bShow, BOOL bDelay) {
    if (pBar == NULL || pBar->m_hWnd == NULL) return;
    CFrameWnd* pParentFrame = pBar->GetDockingFrame();
    if (pParentFrame == NULL) pParentFrame = this;
    if (bDelay) {
        pBar->DelayShow(bShow);
        pParentFrame->DelayRecalcLayout();
    } else {
        pBar->SetWindowPos(NULL, 0, 0, 0, 0,
                           SWP_NOZORDER | SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE |
                               (bShow ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
        pBar->DelayShow(bShow);  // cancels a contradicting delayed request
        if (bShow || !pBar->IsFloating()) pParentFrame->RecalcLayout(FALSE);
    }
    // A floating frame shows while it holds a visible bar.
    if (pBar->IsFloating()) {
        int nVisCount = pBar->m_pDockBar != NULL ? pBar->m_pDockBar->GetDockedVisibleCount() : (bShow ? 1 : 0);
        if (nVisCount == 1 && bShow) {
            pParentFrame->m_nShowDelay = -1;
            if (bDelay) {
                pParentFrame->m_nShowDelay = SW_SHOWNA;
                pParentFrame->RecalcLayout(FALSE);
            } else
                pParentFrame->ShowWindow(SW_SHOWNA);
        } else if (nVisCount == 0) {
            pParentFrame->m_nShowDelay = -1;
            if (bDelay)
                pParentFrame->m_nShowDelay = SW_HIDE;
            else
                pParentFrame->ShowWindow(SW_HIDE);
        } else if (!bDelay) {
            pParentFrame->RecalcLayout(FALSE);
        }
    }
}

DWORD CFrameWnd::CanDock(CRect rect, DWORD dwDockStyle, CDockBar** ppDockBar) {
    // The first frame dock bar allowed by the style whose rectangle meets the given one.
    for (int i = 0; i < 4; i++) {
        if (dwDockBarMap[i][1] & dwDockStyle & CBRS_ALIGN_ANY) {
            CDockBar* pDockBar = (CDockBar*)GetControlBar(dwDockBarMap[i][0]);
            if (pDockBar == NULL) continue;
            CRect rectBar, rectT;
            pDockBar->GetWindowRect(&rectBar);
            if (rectBar.Width() == 0) rectBar.right++;
            if (rectBar.Height() == 0) rectBar.bottom++;
            if (rectT.IntersectRect(rectBar, rect)) {
                if (ppDockBar != NULL) *ppDockBar = pDockBar;
                return dwDockBarMap[i][1];
            }
        }
    }
    return 0;
}

void CFrameWnd::DestroyDockBars() {
    // The frame's dock bars and floating frames go with it; collect first, the list
    // changes while windows are destroyed.
    CPtrArray arrDocks;
    POSITION pos = m_listControlBars.GetHeadPosition();
    while (pos != NULL) {
        CControlBar* pBar = (CControlBar*)m_listControlBars.GetNext(pos);
        if (pBar->IsDockBar() && pBar->m_hWnd != NULL) arrDocks.Add(pBar);
    }
    for (int i = 0; i < arrDocks.GetSize(); i++) {
        CDockBar* pDock = (CDockBar*)arrDocks[i];
        if (m_listControlBars.Find(pDock) == NULL || pDock->m_hWnd == NULL) continue;
        if (pDock->m_bFloating) {
            CWnd* pFrame = pDock->GetParent();
            if (pFrame != NULL && pFrame != this && pFrame->IsFrameWnd()) {
                pFrame->DestroyWindow();
                continue;
            }
        }
    }
}

void CFrameWnd::OnDestroy() {
    DestroyDockBars();
    if (m_hMenuDefault != NULL && ::GetMenu(m_hWnd) != m_hMenuDefault) {
        ::DestroyMenu(m_hMenuDefault);
        m_hMenuDefault = NULL;
    }
    CWnd::OnDestroy();
}

void CFrameWnd::OnClose() {
    if (m_cModalStack > 0) return;  // a modal dialog of this frame is up
    DestroyWindow();  // the main window's end posts the quit message
}

// ---- modal state -------------------------------------------------------------------

namespace {
struct ModalEnumData {
    HWND hWndFrame;
    CPtrArray* pArr;
};

BOOL CALLBACK DisableOwnedPopup(HWND hWnd, LPARAM lParam) {
    ModalEnumData* pData = (ModalEnumData*)lParam;
    if (hWnd == pData->hWndFrame) return TRUE;
    // Windows owned by the frame, directly or through another popup.
    HWND hOwner = ::GetWindow(hWnd, GW_OWNER);
    while (hOwner != NULL && hOwner != pData->hWndFrame) hOwner = ::GetWindow(hOwner, GW_OWNER);
    if (hOwner == pData->hWndFrame && ::IsWindowEnabled(hWnd)) {
        ::EnableWindow(hWnd, FALSE);
        pData->pArr->Add((void*)hWnd);
    }
    return TRUE;
}
}  // namespace

void CFrameWnd::BeginModalState() {
    if (m_cModalStack++ > 0) return;
    // Popups first (floating frames and tool windows), then the frame itself.
    ModalEnumData data = {m_hWnd, &m_arrModalDisabled};
    ::EnumThreadWindows(::GetCurrentThreadId(), DisableOwnedPopup, (LPARAM)&data);
    if (::IsWindowEnabled(m_hWnd)) {
        ::EnableWindow(m_hWnd, FALSE);
        m_arrModalDisabled.Add((void*)m_hWnd);
    }
}

void CFrameWnd::EndModalState() {
    if (m_cModalStack == 0 || --m_cModalStack > 0) return;
    for (int i = 0; i < m_arrModalDisabled.GetSize(); i++) {
        HWND hWnd = (HWND)m_arrModalDisabled[i];
        if (::IsWindow(hWnd)) ::EnableWindow(hWnd, TRUE);
    }
    m_arrModalDisabled.RemoveAll();
}
