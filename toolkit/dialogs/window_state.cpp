#include "toolkit/dialogs/window_state.h"

#include <cstdio>

// ---- the size grip ---------------------------------------------------------------------

CExtWSGripper::CExtWSGripper() {}

CExtWSGripper::~CExtWSGripper() {}

LRESULT CExtWSGripper::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message)
    {
    case WM_NCHITTEST:
    {
        HWND hWndParent = ::GetParent(m_hWnd);
        if (hWndParent != NULL && ::IsZoomed(hWndParent))
            return HTNOWHERE;
        if (hWndParent != NULL && (::GetWindowLongA(hWndParent, GWL_EXSTYLE) & WS_EX_LAYOUTRTL) != 0)
            return HTBOTTOMLEFT;
        return HTBOTTOMRIGHT;
    }
    case WM_MOUSEACTIVATE:
        return MA_NOACTIVATEANDEAT;
    case WM_ERASEBKGND:
        return 0;
    case WM_PAINT:
        OnGripPaint();
        return 0;
    default:
        return CWnd::WindowProc(message, wParam, lParam);
    }
}

void CExtWSGripper::OnGripPaint()
{
    CPaintDC dcPaint(this);
    CRect rcClient;
    GetClientRect(&rcClient);
    CExtMemoryDC dc(&dcPaint, &rcClient, CExtMemoryDC::MDCOPT_TO_MEMORY | CExtMemoryDC::MDCOPT_FILL_SURFACE);
    CExtPaintManager* pPM = g_CurrentPaintManager.GetPM();
    if (!(pPM->UsesParentBackground(this, 0) && pPM->DrawWindowBackground(true, dc, this, 0)))
        dc.FillSolidRect(&rcClient, pPM->LookupColor(CExtPaintManager::CLR_3DFACE_OUT, this, 0));
    HWND hWndParent = ::GetParent(m_hWnd);
    if (hWndParent == NULL || !::IsZoomed(hWndParent))
    {
        int nOldBkMode = dc.SetBkMode(TRANSPARENT);
        pPM->DrawSizeGrip(dc, rcClient, this, 0);
        dc.SetBkMode(nOldBkMode);
    }
    // The memory DC copies to the screen when it goes.
}

// ---- shared services ---------------------------------------------------------------------

namespace {

struct DialogBrush
{
    HBRUSH m_hBrush = NULL;
    COLORREF m_clr = 0xFFFFFFFF;
    ~DialogBrush()
    {
        if (m_hBrush != NULL)
            ::DeleteObject(m_hBrush);
    }
};

DialogBrush g_DialogBrush;

CString LowerClassName(HWND hWnd)
{
    char sClass[256] = {};
    ::GetClassNameA(hWnd, sClass, sizeof(sClass) - 1);
    CString s(sClass);
    s.MakeLower();
    return s;
}

}  // namespace

HBRUSH CExtWSHelper::stat_GetDialogBrush(CExtPaintManager* pPM, CObject* pHelperSrc)
{
    COLORREF clr = pPM->LookupColor(CExtPaintManager::CLR_3DFACE_OUT, pHelperSrc, 0);
    if (clr != g_DialogBrush.m_clr && g_DialogBrush.m_hBrush != NULL)
    {
        ::DeleteObject(g_DialogBrush.m_hBrush);
        g_DialogBrush.m_hBrush = NULL;
    }
    if (g_DialogBrush.m_hBrush == NULL)
    {
        g_DialogBrush.m_hBrush = ::CreateSolidBrush(clr);
        g_DialogBrush.m_clr = clr;
    }
    return g_DialogBrush.m_hBrush;
}

bool CExtWSHelper::stat_IsDialogWindow(CWnd* pWnd)
{
    if (pWnd->IsKindOf(RUNTIME_CLASS(CDialog)))
        return true;
    return LowerClassName(pWnd->m_hWnd).Find('#') >= 0;
}

bool CExtWSHelper::stat_OwnMapHandles(const AFX_MSGMAP* pMap, UINT nMessage)
{
    if (pMap == NULL || pMap->lpEntries == NULL)
        return false;
    for (const AFX_MSGMAP_ENTRY* pEntry = pMap->lpEntries; pEntry->nSig != AfxSig_end; pEntry++)
        if (pEntry->nMessage == nMessage && pEntry->nCode == 0 && pEntry->nID == 0)
            return true;
    return false;
}

bool CExtWSHelper::stat_IsStaticControl(HWND hWnd) { return LowerClassName(hWnd) == "static"; }

void CExtWSHelper::stat_PaintBackground(CWnd* pWnd)
{
    CPaintDC dc(pWnd);
    CExtPaintManager* pPM = g_CurrentPaintManager.GetPM();
    if (pPM->UsesParentBackground(pWnd, 0))
    {
        CExtPaintManager::ClipOutChildren(&dc, pWnd->m_hWnd, CExtPaintManager::stat_ClipFilterTransparentChild);
        pPM->DrawWindowBackground(true, dc, pWnd, 0);
    }
    // No theme takes an end-of-paint notification: nothing more to tell it.
}

LRESULT CExtWSHelper::stat_OnCtlColor(CWnd* pWnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT lResult)
{
    CExtPaintManager* pPM = g_CurrentPaintManager.GetPM();
    if (message == WM_CTLCOLORSTATIC)
    {
        HWND hWndCtrl = (HWND)lParam;
        if (hWndCtrl != NULL && ::IsWindow(hWndCtrl) && !stat_IsStaticControl(hWndCtrl))
            return lResult;
        ::SetBkMode((HDC)wParam, TRANSPARENT);
        if ((pWnd->GetStyle() & WS_CHILD) != 0 && pPM->UsesParentBackground(pWnd, 0))
            return (LRESULT)::GetStockObject(NULL_BRUSH);
    }
    return (LRESULT)stat_GetDialogBrush(pPM, pWnd);
}

void CExtWSHelper::stat_SaveWindowRect(CWnd* pWnd, LPCTSTR sSection, LPCTSTR sEntry)
{
    CWinApp* pApp = AfxGetApp();
    if (pApp == NULL || pWnd->m_hWnd == NULL)
        return;
    WINDOWPLACEMENT wp;
    memset(&wp, 0, sizeof(wp));
    wp.length = sizeof(wp);
    pWnd->GetWindowPlacement(&wp);
    CString sText;
    sText.Format("%d,%d,%d,%d,%d,%d", (int)wp.rcNormalPosition.left, (int)wp.rcNormalPosition.top,
                 (int)wp.rcNormalPosition.right, (int)wp.rcNormalPosition.bottom, (int)wp.showCmd, (int)wp.flags);
    pApp->WriteProfileString(sSection, sEntry, sText);
}

void CExtWSHelper::stat_LoadWindowRect(CWnd* pWnd, LPCTSTR sSection, LPCTSTR sEntry, bool bForceHideWindow)
{
    CWinApp* pApp = AfxGetApp();
    if (pApp == NULL || pWnd->m_hWnd == NULL)
        return;
    CString sText = pApp->GetProfileString(sSection, sEntry, NULL);
    if (sText.IsEmpty())
        return;
    WINDOWPLACEMENT wp;
    memset(&wp, 0, sizeof(wp));
    wp.length = sizeof(wp);
    pWnd->GetWindowPlacement(&wp);
    int n[6] = {};
    // A damaged or hand-edited value must not put the window out of reach: an inverted
    // rectangle or a show command that is not a known visible one keeps the placement.
    if (sscanf((LPCSTR)sText, "%d,%d,%d,%d,%d,%d", &n[0], &n[1], &n[2], &n[3], &n[4], &n[5]) == 6 && n[2] > n[0] &&
        n[3] > n[1] && n[4] >= SW_SHOWNORMAL && n[4] <= SW_RESTORE)
    {
        wp.rcNormalPosition.left = n[0];
        wp.rcNormalPosition.top = n[1];
        wp.rcNormalPosition.right = n[2];
        wp.rcNormalPosition.bottom = n[3];
        wp.showCmd = bForceHideWindow ? SW_HIDE : (UINT)n[4];
        wp.flags = (UINT)n[5];
        pWnd->SetWindowPlacement(&wp);
    }
    pWnd->RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_FRAME);
}

void CExtWSHelper::stat_OnWindowPosChanged(CWnd* pWnd, CExtWSGripper& wndGrip, WINDOWPOS* pWP)
{
    if (pWP == NULL || (pWP->flags & SWP_NOSIZE) != 0)
        return;
    if (wndGrip.m_hWnd != NULL && ::IsWindow(wndGrip.m_hWnd))
    {
        CRect rcClient;
        pWnd->GetClientRect(&rcClient);
        wndGrip.SetWindowPos(NULL, rcClient.right - ::GetSystemMetrics(SM_CXSMICON),
                             rcClient.bottom - ::GetSystemMetrics(SM_CYSMICON), 0, 0,
                             SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
        wndGrip.Invalidate(TRUE);
        wndGrip.UpdateWindow();
    }
    if (!pWnd->IsWindowVisible())
        return;
    if (!g_CurrentPaintManager->UsesParentBackground(pWnd, 0))
        return;
    char sClass[64] = {};
    ::GetClassNameA(pWnd->m_hWnd, sClass, sizeof(sClass) - 1);
    if (strcmp(sClass, "#32770") != 0)
        return;
    const UINT nFlags = RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ERASENOW | RDW_NOFRAME;
    pWnd->RedrawWindow(NULL, NULL, nFlags | RDW_NOCHILDREN);
    for (HWND hWndChild = ::GetWindow(pWnd->m_hWnd, GW_CHILD); hWndChild != NULL;
         hWndChild = ::GetWindow(hWndChild, GW_HWNDNEXT))
        if ((::GetWindowLongA(hWndChild, GWL_STYLE) & WS_VISIBLE) != 0)
            ::RedrawWindow(hWndChild, NULL, NULL, nFlags);
}

void CExtWSHelper::stat_CreateSizeGrip(CWnd* pWnd, CExtWSGripper& wndGrip, bool bShow)
{
    if (wndGrip.m_hWnd != NULL)
        return;
    CRect rcClient;
    pWnd->GetClientRect(&rcClient);
    int cx = ::GetSystemMetrics(SM_CXSMICON), cy = ::GetSystemMetrics(SM_CYSMICON);
    CRect rcGrip(rcClient.right - cx, rcClient.bottom - cy, rcClient.right, rcClient.bottom);
    // A sibling may share the corner and lie above the grip (a status bar drawing a grip
    // of its own): the grip paints only what shows of it, or whichever of the two
    // painted last would own the corner.
    if (!wndGrip.Create(NULL, "", WS_CHILD | WS_CLIPSIBLINGS, rcGrip, pWnd, (UINT)-1))
        return;
    if (bShow)
        wndGrip.SetWindowPos(&CWnd::wndTop, 0, 0, 0, 0,
                             SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW | SWP_FRAMECHANGED);
}

void CExtWSHelper::stat_ShowSizeGrip(CWnd* pWnd, CExtWSGripper& wndGrip, bool bShow)
{
    if (wndGrip.m_hWnd == NULL || !::IsWindow(wndGrip.m_hWnd))
        return;
    CRect rcGrip;
    wndGrip.GetWindowRect(&rcGrip);
    wndGrip.ShowWindow(bShow ? SW_SHOW : SW_HIDE);
    if (!bShow && pWnd->m_hWnd != NULL && ::IsWindow(pWnd->m_hWnd))
    {
        pWnd->ScreenToClient(&rcGrip);
        pWnd->InvalidateRect(&rcGrip, TRUE);
    }
}

bool CExtWSHelper::stat_IsAltSpace(const MSG* pMsg)
{
    if (pMsg->message != WM_KEYDOWN && pMsg->message != WM_SYSKEYDOWN && pMsg->message != WM_SYSKEYUP)
        return false;
    return pMsg->wParam == VK_SPACE && (pMsg->lParam & (1 << 29)) != 0;
}

bool CExtWSHelper::stat_AltSpaceOpensMenu(CWnd* pWnd)
{
    HWND hWndActive = ::GetActiveWindow();
    if (hWndActive == NULL || !::IsWindow(hWndActive))
        return false;
    if (hWndActive != pWnd->m_hWnd && (::GetWindowLongA(hWndActive, GWL_STYLE) & WS_POPUP) != 0)
        return false;
    if ((pWnd->GetStyle() & WS_POPUP) == 0)
        return false;
    return ::GetSystemMenu(pWnd->m_hWnd, FALSE) != NULL;
}
