// CMiniFrameWnd and CMiniDockFrameWnd.
#include "framework/miniframe.h"
#include "framework/app.h"

IMPLEMENT_DYNCREATE(CMiniFrameWnd, CFrameWnd)

CMiniFrameWnd::CMiniFrameWnd() {}
CMiniFrameWnd::~CMiniFrameWnd() {}

BOOL CMiniFrameWnd::Create(LPCTSTR lpClassName, LPCTSTR lpWindowName, DWORD dwStyle, const RECT& rect,
                           CWnd* pParentWnd, UINT nID) {
    return CreateEx(0, lpClassName, lpWindowName, dwStyle, rect, pParentWnd, nID);
}

BOOL CMiniFrameWnd::CreateEx(DWORD dwExStyle, LPCTSTR lpClassName, LPCTSTR lpWindowName, DWORD dwStyle,
                             const RECT& rect, CWnd* pParentWnd, UINT nID) {
    m_strCaption = lpWindowName != NULL ? lpWindowName : "";
    if (lpClassName == NULL) lpClassName = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursor(NULL, IDC_ARROW));
    int x, y, cx, cy;
    AfxFrameCreateMetrics(rect, x, y, cx, cy);
    return CWnd::CreateEx(dwExStyle, lpClassName, lpWindowName, dwStyle, x, y, cx, cy, pParentWnd->GetSafeHwnd(),
                          (HMENU)(UINT_PTR)nID);
}

BOOL CMiniFrameWnd::PreCreateWindow(CREATESTRUCT& cs) {
    // The thick-frame styles mean a sizing border; a caption means a tool window.
    if (cs.style & (MFS_4THICKFRAME | MFS_THICKFRAME)) cs.style |= WS_THICKFRAME;
    if (cs.style & WS_CAPTION) cs.dwExStyle |= WS_EX_TOOLWINDOW;
    if (!CFrameWnd::PreCreateWindow(cs)) return FALSE;
    cs.dwExStyle &= ~WS_EX_CLIENTEDGE;
    return TRUE;
}

// ---- CMiniDockFrameWnd -------------------------------------------------------------

IMPLEMENT_DYNCREATE(CMiniDockFrameWnd, CMiniFrameWnd)

BEGIN_MESSAGE_MAP(CMiniDockFrameWnd, CMiniFrameWnd)
    ON_WM_CLOSE()
    ON_WM_NCLBUTTONDBLCLK()
END_MESSAGE_MAP()

CMiniDockFrameWnd::CMiniDockFrameWnd() : m_wndDockBar(TRUE) {
    // Embedded: the frame owns it, nothing deletes it on its own.
    m_wndDockBar.m_bAutoDelete = FALSE;
}

CMiniDockFrameWnd::~CMiniDockFrameWnd() {}

BOOL CMiniDockFrameWnd::Create(CWnd* pParent, DWORD dwBarStyle) {
    // Nothing to lay out until a bar is docked.
    m_bInRecalcLayout = TRUE;
    DWORD dwStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | MFS_MOVEFRAME | MFS_4THICKFRAME | MFS_SYNCACTIVE |
                    MFS_BLOCKSYSMENU | FWS_SNAPTOBARS;
    if (dwBarStyle & CBRS_SIZE_DYNAMIC) dwStyle &= ~MFS_MOVEFRAME;
    if (!CMiniFrameWnd::CreateEx(0, NULL, "", dwStyle, rectDefault, pParent)) {
        m_bInRecalcLayout = FALSE;
        return FALSE;
    }
    dwStyle = (dwBarStyle & (CBRS_ALIGN_LEFT | CBRS_ALIGN_RIGHT)) ? CBRS_ALIGN_LEFT : CBRS_ALIGN_TOP;
    dwStyle |= dwBarStyle & CBRS_FLOAT_MULTI;

    // Created as a child of the docking frame so that its dock site is that frame; then
    // moved into this floating frame.
    if (!m_wndDockBar.Create(pParent, WS_CHILD | WS_VISIBLE | dwStyle, AFX_IDW_DOCKBAR_FLOAT)) {
        m_bInRecalcLayout = FALSE;
        return FALSE;
    }
    m_wndDockBar.SetParent(this);
    m_bInRecalcLayout = FALSE;
    return TRUE;
}

void CMiniDockFrameWnd::RecalcLayout(BOOL bNotify) {
    if (m_bInRecalcLayout) return;
    CMiniFrameWnd::RecalcLayout(bNotify);
    // The caption follows the dock bar's title (its single bar's).
    char szTitle[MAX_PATH];
    szTitle[0] = 0;
    if (m_wndDockBar.m_hWnd != NULL) ::GetWindowTextA(m_wndDockBar.m_hWnd, szTitle, MAX_PATH);
    ::SetWindowTextA(m_hWnd, szTitle);
}

void CMiniDockFrameWnd::OnClose() {
    // Closing a floating frame hides its bars; they stay where they are.
    m_wndDockBar.ShowAll(FALSE);
}

void CMiniDockFrameWnd::OnNcLButtonDblClk(UINT nHitTest, CPoint point) {
    if (nHitTest == HTCAPTION) {
        CControlBar* pBar = NULL;
        for (int i = 0; i < m_wndDockBar.m_arrBars.GetSize() && pBar == NULL; i++)
            pBar = m_wndDockBar.GetDockedControlBar(i);
        if (pBar != NULL && pBar->m_pDockContext != NULL && !(m_wndDockBar.m_dwStyle & CBRS_FLOAT_MULTI)) {
            pBar->m_pDockContext->ToggleDocking();
            return;
        }
    }
    CMiniFrameWnd::OnNcLButtonDblClk(nHitTest, point);
}
