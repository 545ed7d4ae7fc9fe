// The multiple-document frame and child frames.
#include "framework/framework.h"

IMPLEMENT_DYNCREATE(CMDIFrameWnd, CFrameWnd)
IMPLEMENT_DYNCREATE(CMDIChildWnd, CFrameWnd)

BEGIN_MESSAGE_MAP(CMDIFrameWnd, CFrameWnd)
    ON_WM_CREATE()
END_MESSAGE_MAP()

CMDIFrameWnd::CMDIFrameWnd() : m_hWndMDIClient(NULL) {}

CMenu* CMDIFrameWnd::MDISetMenu(CMenu* pFrameMenu, CMenu* pWindowMenu) {
    if (m_hWndMDIClient == NULL) return NULL;
    HMENU hOld = (HMENU)::SendMessage(m_hWndMDIClient, WM_MDISETMENU, (WPARAM)(pFrameMenu != NULL ? pFrameMenu->GetSafeHmenu() : NULL),
                                      (LPARAM)(pWindowMenu != NULL ? pWindowMenu->GetSafeHmenu() : NULL));
    return CMenu::FromHandle(hOld);
}

int CMDIFrameWnd::OnCreate(LPCREATESTRUCT lpCreateStruct) {
    if (CFrameWnd::OnCreate(lpCreateStruct) == -1) return -1;
    // The Window menu is the last-but-one popup of the frame's menu, as is the custom.
    CMenu* pWindowMenu = NULL;
    HMENU hMenu = ::GetMenu(m_hWnd);
    if (hMenu != NULL) {
        const int nCount = ::GetMenuItemCount(hMenu);
        if (nCount >= 2) pWindowMenu = CMenu::FromHandle(::GetSubMenu(hMenu, nCount - 2));
    }
    return CreateClient(lpCreateStruct, pWindowMenu) ? 0 : -1;
}

BOOL CMDIFrameWnd::CreateClient(LPCREATESTRUCT lpCreateStruct, CMenu* pWindowMenu) {
    (void)lpCreateStruct;
    CLIENTCREATESTRUCT ccs;
    ccs.hWindowMenu = pWindowMenu != NULL ? pWindowMenu->GetSafeHmenu() : NULL;
    ccs.idFirstChild = AFX_IDM_FIRST_MDICHILD;
    CRect rc;
    GetClientRect(&rc);
    m_hWndMDIClient = ::CreateWindowEx(WS_EX_CLIENTEDGE, _T("MDICLIENT"), NULL,
                                       WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | WS_VSCROLL |
                                           WS_HSCROLL | MDIS_ALLCHILDSTYLES,
                                       0, 0, rc.Width(), rc.Height(), m_hWnd, (HMENU)(UINT_PTR)AFX_IDW_PANE_FIRST,
                                       AfxGetInstanceHandle(), &ccs);
    return m_hWndMDIClient != NULL;
}

LRESULT CMDIFrameWnd::DefWindowProc(UINT nMsg, WPARAM wParam, LPARAM lParam) {
    return ::DefFrameProc(m_hWnd, m_hWndMDIClient, nMsg, wParam, lParam);
}

BOOL CMDIFrameWnd::PreTranslateMessage(MSG* pMsg) {
    if (m_hWndMDIClient != NULL && pMsg->message >= WM_KEYFIRST && pMsg->message <= WM_KEYLAST &&
        ::TranslateMDISysAccel(m_hWndMDIClient, pMsg))
        return TRUE;
    return CFrameWnd::PreTranslateMessage(pMsg);
}

CMDIChildWnd* CMDIFrameWnd::MDIGetActive(BOOL* pbMaximized) const {
    BOOL bMax = FALSE;
    HWND hWnd = m_hWndMDIClient != NULL ? (HWND)::SendMessage(m_hWndMDIClient, WM_MDIGETACTIVE, 0, (LPARAM)&bMax)
                                        : NULL;
    if (pbMaximized != NULL) *pbMaximized = (hWnd != NULL) && bMax;
    return DYNAMIC_DOWNCAST(CMDIChildWnd, CWnd::FromHandlePermanent(hWnd));
}

void CMDIFrameWnd::MDIActivate(CWnd* pWndActivate) {
    ::SendMessage(m_hWndMDIClient, WM_MDIACTIVATE, (WPARAM)pWndActivate->GetSafeHwnd(), 0);
}
void CMDIFrameWnd::MDINext() { ::SendMessage(m_hWndMDIClient, WM_MDINEXT, 0, 0); }
void CMDIFrameWnd::MDICascade() { ::SendMessage(m_hWndMDIClient, WM_MDICASCADE, 0, 0); }
void CMDIFrameWnd::MDITile() { ::SendMessage(m_hWndMDIClient, WM_MDITILE, 0, 0); }

// ---- child frames -----------------------------------------------------------------------------
CMDIChildWnd::CMDIChildWnd() : m_hMenuShared(NULL), m_bPseudoInactive(FALSE) {}

void CMDIChildWnd::SetHandles(HMENU hMenu, HACCEL hAccel) {
    m_hMenuShared = hMenu;
    m_hAccelTable = hAccel;
}

BOOL CMDIChildWnd::PreCreateWindow(CREATESTRUCT& cs) {
    if (!CFrameWnd::PreCreateWindow(cs)) return FALSE;
    cs.style |= WS_CHILD;
    return TRUE;
}

BOOL CMDIChildWnd::Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                          CMDIFrameWnd* pParentWnd, CCreateContext* pContext) {
    (void)pContext;
    if (pParentWnd == NULL) pParentWnd = DYNAMIC_DOWNCAST(CMDIFrameWnd, AfxGetMainWnd());
    if (pParentWnd == NULL || pParentWnd->m_hWndMDIClient == NULL) return FALSE;
    CREATESTRUCT cs;
    ::ZeroMemory(&cs, sizeof(cs));
    cs.lpszClass = lpszClassName;
    cs.lpszName = lpszWindowName;
    cs.style = dwStyle;
    cs.hInstance = AfxGetInstanceHandle();
    int x, y, cx, cy;
    AfxFrameCreateMetrics(rect, x, y, cx, cy);
    cs.x = x;
    cs.y = y;
    cs.cx = cx;
    cs.cy = cy;
    cs.hwndParent = pParentWnd->m_hWndMDIClient;
    if (!PreCreateWindow(cs)) return FALSE;
    m_strTitle = lpszWindowName != NULL ? lpszWindowName : "";
    // The MDI client makes the window; the framework attaches this object while it is
    // being created, as for any window it makes.
    AfxHookWindowCreate(this);
    MDICREATESTRUCT mcs;
    mcs.szClass = cs.lpszClass;
    mcs.szTitle = cs.lpszName;
    mcs.hOwner = cs.hInstance;
    mcs.x = cs.x;
    mcs.y = cs.y;
    mcs.cx = cs.cx;
    mcs.cy = cs.cy;
    mcs.style = cs.style & ~(WS_MAXIMIZE | WS_VISIBLE);
    mcs.lParam = 0;
    HWND hWnd = (HWND)::SendMessage(pParentWnd->m_hWndMDIClient, WM_MDICREATE, 0, (LPARAM)&mcs);
    if (!AfxUnhookWindowCreate()) PostNcDestroy();  // the hook never ran: nothing attached
    if (hWnd == NULL) return FALSE;
    if (dwStyle & WS_VISIBLE) {
        ::BringWindowToTop(hWnd);
        ::ShowWindow(hWnd, (dwStyle & WS_MAXIMIZE) ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL);
        // A new visible document window is the active one.
        ::SendMessage(pParentWnd->m_hWndMDIClient, WM_MDIACTIVATE, (WPARAM)hWnd, 0);
        ::SendMessage(pParentWnd->m_hWndMDIClient, WM_MDIREFRESHMENU, 0, 0);
    }
    return TRUE;
}

LRESULT CMDIChildWnd::DefWindowProc(UINT nMsg, WPARAM wParam, LPARAM lParam) {
    return ::DefMDIChildProc(m_hWnd, nMsg, wParam, lParam);
}

CMDIFrameWnd* CMDIChildWnd::GetMDIFrame() const {
    HWND hWndClient = ::GetParent(m_hWnd);
    return DYNAMIC_DOWNCAST(CMDIFrameWnd, CWnd::FromHandlePermanent(hWndClient != NULL ? ::GetParent(hWndClient)
                                                                                       : NULL));
}

BOOL CMDIChildWnd::DestroyWindow() {
    if (m_hWnd == NULL) return FALSE;
    HWND hWndClient = ::GetParent(m_hWnd);
    if (hWndClient == NULL) return CFrameWnd::DestroyWindow();
    MDIDestroy();
    return TRUE;
}

void CMDIChildWnd::MDIActivate() { ::SendMessage(::GetParent(m_hWnd), WM_MDIACTIVATE, (WPARAM)m_hWnd, 0); }
void CMDIChildWnd::MDIDestroy() { ::SendMessage(::GetParent(m_hWnd), WM_MDIDESTROY, (WPARAM)m_hWnd, 0); }
void CMDIChildWnd::MDIMaximize() { ::SendMessage(::GetParent(m_hWnd), WM_MDIMAXIMIZE, (WPARAM)m_hWnd, 0); }
void CMDIChildWnd::MDIRestore() { ::SendMessage(::GetParent(m_hWnd), WM_MDIRESTORE, (WPARAM)m_hWnd, 0); }
