// The status bar's painting through the paint manager, its size grip and hit testing,
// pane tips, the context menu of a frame's status bar and the system-change relay.
#include "toolkit/bars/status_bar.h"
#include "toolkit/core/cmd_icon.h"
#include "toolkit/core/cmd_manager.h"
#include "toolkit/dialogs/memory_dc.h"
#include "toolkit/menus/popup_menu_tip_wnd.h"
#include "toolkit/menus/popup_menu_wnd.h"
#include "toolkit/menus/popup_tracking_site.h"
#include "toolkit/theme/pm_bar_parts.h"

BEGIN_MESSAGE_MAP(CExtStatusControlBar, CStatusBar)
    ON_WM_CREATE()
    ON_WM_PAINT()
    ON_WM_NCPAINT()
    ON_WM_ERASEBKGND()
    ON_WM_SIZE()
    ON_WM_NCHITTEST()
    ON_WM_MOUSEMOVE()
    ON_WM_CONTEXTMENU()
    ON_WM_CANCELMODE()
    ON_WM_SYSCOLORCHANGE()
    ON_WM_SETTINGCHANGE()
    ON_MESSAGE(WM_DISPLAYCHANGE, &CExtStatusControlBar::OnDisplayChange)
    ON_MESSAGE(WM_THEMECHANGED, &CExtStatusControlBar::OnThemeChanged)
END_MESSAGE_MAP()

// ---- colours and creation -------------------------------------------------------------

void CExtStatusControlBar::SyncColors()
{
    CExtPaintManager* pPM = GetPaintManager();
    const COLORREF clrBk = pPM->LookupColor(CExtPaintManager::CLR_3DFACE_OUT, this);
    if (clrBk != m_clrStatusBk)
    {
        m_clrStatusBk = clrBk;
        if (m_hWnd != NULL)
            ::SendMessage(m_hWnd, SB_SETBKCOLOR, 0, (LPARAM)clrBk);
    }
    m_clrSecond = pPM->LookupColor(CExtPaintManager::CLR_TEXT_OUT, this);
    m_clrText = pPM->LookupColor(COLOR_BTNTEXT, this);
    m_clrTextDisabled = pPM->LookupColor(COLOR_BTNSHADOW, this);
    m_clrBorder = IsThemed() ? pPM->LookupColor(COLOR_BTNSHADOW, this) : m_clrStatusBk;
}

int CExtStatusControlBar::OnCreate(LPCREATESTRUCT lpcs)
{
    if (CStatusBar::OnCreate(lpcs) == -1)
        return -1;
    EnableToolTips(TRUE);
    ModifyStyle(0, WS_CLIPCHILDREN);
    SetWindowPos(NULL, 0, 0, 0, 0,
                 SWP_NOSIZE | SWP_NOMOVE | SWP_NOREDRAW | SWP_NOACTIVATE | SWP_NOCOPYBITS | SWP_NOSENDCHANGING);
    SyncColors();
    return 0;
}

// ---- size grip --------------------------------------------------------------------------

bool CExtStatusControlBar::IsParentSizable() const
{
    HWND hWndParent = m_hWnd != NULL ? ::GetParent(m_hWnd) : NULL;
    if (hWndParent == NULL || ::IsZoomed(hWndParent))
        return false;
    MINMAXINFO mmi;
    memset(&mmi, 0, sizeof(mmi));
    mmi.ptMinTrackSize.x = ::GetSystemMetrics(SM_CXMIN);
    mmi.ptMinTrackSize.y = ::GetSystemMetrics(SM_CYMIN);
    MONITORINFO mi;
    memset(&mi, 0, sizeof(mi));
    mi.cbSize = sizeof(mi);
    HMONITOR hMonitor = ::MonitorFromWindow(hWndParent, MONITOR_DEFAULTTONEAREST);
    if (hMonitor != NULL && ::GetMonitorInfo(hMonitor, &mi))
    {
        mmi.ptMaxTrackSize.x = mi.rcMonitor.right - mi.rcMonitor.left;
        mmi.ptMaxTrackSize.y = mi.rcMonitor.bottom - mi.rcMonitor.top;
    }
    else
    {
        mmi.ptMaxTrackSize.x = ::GetSystemMetrics(SM_CXSCREEN);
        mmi.ptMaxTrackSize.y = ::GetSystemMetrics(SM_CYSCREEN);
    }
    if (::SendMessage(hWndParent, WM_GETMINMAXINFO, 0, (LPARAM)&mmi) != 0)
        return false;
    return mmi.ptMinTrackSize.x < mmi.ptMaxTrackSize.x || mmi.ptMinTrackSize.y < mmi.ptMaxTrackSize.y;
}

bool CExtStatusControlBar::IsSizeGripEnabled() const { return true; }

void CExtStatusControlBar::DrawSizeGrip(CDC& dc, const CRect& rcGrip)
{
    if (!IsThemed())
        dc.FillSolidRect(&rcGrip, m_clrStatusBk);
    if (!IsSizeGripEnabled())
        return;
    CRect rc = rcGrip;
    rc.OffsetRect(-1, -1);
    GetPaintManager()->DrawSizeGrip(dc, rc, this);
}

LRESULT CExtStatusControlBar::OnNcHitTest(CPoint point)
{
    const bool bGrip = IsSizeGripEnabled();
    const bool bSizable = bGrip && IsParentSizable();
    if (bSizable)
    {
        CRect rcClient;
        GetClientRect(&rcClient);
        CRect rcGrip(rcClient.right - ::GetSystemMetrics(SM_CXVSCROLL),
                     rcClient.bottom - ::GetSystemMetrics(SM_CYVSCROLL), rcClient.right, rcClient.bottom);
        CPoint ptClient = point;
        ScreenToClient(&ptClient);
        if (rcGrip.PtInRect(ptClient))
            return (GetExStyle() & WS_EX_LAYOUTRTL) != 0 ? HTBOTTOMLEFT : HTBOTTOMRIGHT;
    }
    LRESULT nHit = CStatusBar::OnNcHitTest(point);
    // No grip is shown over a parent that cannot be sized now, so the control's own grip
    // corner must not offer sizing there either.
    if ((!bGrip || !bSizable) && nHit != HTCLIENT)
        nHit = HTCLIENT;
    return nHit;
}

// ---- painting -----------------------------------------------------------------------------

BOOL CExtStatusControlBar::OnEraseBkgnd(CDC* pDC)
{
    if (IsThemed())
        return TRUE;
    return CStatusBar::OnEraseBkgnd(pDC);
}

void CExtStatusControlBar::DrawBorders(CDC* pDC, CRect& rect)
{
    if (pDC == NULL)
        return;
    CExtPaintManager::PAINTBARBORDERDATA _pbbd(this, CExtPaintManager::PAINTBARBORDERDATA::__BB_STATUS_BAR,
                                               m_dwStyle, rect);
    GetPaintManager()->DrawBarBorder(*pDC, _pbbd);
}

void CExtStatusControlBar::OnNcPaint()
{
    if (!IsThemed())
    {
        Default();
        return;
    }
    SyncColors();
    CWindowDC dc(this);
    CRect rcWnd, rcClient;
    GetWindowRect(&rcWnd);
    GetClientRect(&rcClient);
    ClientToScreen(&rcClient);
    rcClient.OffsetRect(-rcWnd.left, -rcWnd.top);
    rcWnd.OffsetRect(-rcWnd.left, -rcWnd.top);
    dc.ExcludeClipRect(&rcClient);
    DrawBorders(&dc, rcWnd);
}

void CExtStatusControlBar::OnPaint()
{
    if ((m_nSuspendFlags & 0x01) != 0)
    {
        // The pane list is half rebuilt: only the invalid area is taken back.
        ValidateRect(NULL);
        return;
    }
    if (!IsThemed())
    {
        CStatusBar::OnPaint();
        return;
    }
    SyncColors();
    // The pane rectangles are brought up to date before the paint DC takes the update
    // region, so that the control's own invalidation does not ask for another pass.
    UpdateAllPanes(TRUE, FALSE);
    CRect rcClient;
    GetClientRect(&rcClient);
    CPaintDC dcPaint(this);
    CExtPaintManager::ClipOutChildren(&dcPaint, m_hWnd);
    CExtMemoryDC dc(&dcPaint, &rcClient);
    DrawBackground(dc, rcClient);

    CRect rcGrip(0, 0, 0, 0);
    if (IsParentSizable())
    {
        rcGrip = rcClient;
        rcGrip.left = rcGrip.right - ::GetSystemMetrics(SM_CXVSCROLL);
        dc.ExcludeClipRect(&rcGrip);
    }
    PaintPanes(dc, rcClient);
    if (!rcGrip.IsRectEmpty())
    {
        dc.SelectClipRgn(NULL);
        DrawSizeGrip(dc, rcGrip);
    }
    dc.FlushToTarget();
}

void CExtStatusControlBar::PaintPanes(CDC& dc, const CRect& rcClient)
{
    (void)rcClient;
    CExtPaintManager* pPM = GetPaintManager();
    CFont* pOldFont = dc.SelectObject(&pPM->m_FontNormal);
    const int nOldBkMode = dc.SetBkMode(TRANSPARENT);
    const COLORREF clrOldText = dc.SetTextColor(m_clrText);
    const bool bSeparators = IsThemed() && HasPaneSeparators();
    CRect rcPrev(0, 0, 0, 0);
    for (int i = 0; i < m_nCount; i++)
    {
        CRect rcPane;
        GetPanePaintRect(i, rcPane);
        const UINT nStyle = GetPaneStyle(i);
        HICON hIcon = NULL;
        if ((m_nOptionFlags & __ESBO_NO_CONTROL_ICONS) == 0)
            hIcon = (HICON)::SendMessage(m_hWnd, SB_GETICON, (WPARAM)i, 0);
        CString sText;
        GetPaneText(i, sText);
        DrawPaneBackground(dc, i, rcPane);
        DrawPane(dc, i, rcPane, nStyle, hIcon, sText.IsEmpty() ? NULL : (LPCTSTR)sText, GetPaneTextFormat(i));
        if (bSeparators && i > 0)
            DrawPaneSeparator(dc, i, rcPrev, rcPane);
        rcPrev = rcPane;
    }
    dc.SetTextColor(clrOldText);
    dc.SetBkMode(nOldBkMode);
    dc.SelectObject(pOldFont);
}

void CExtStatusControlBar::DrawBackground(CDC& dc, const CRect& rcClient)
{
    CExtPaintManager* pPM = GetPaintManager();
    if (IsThemed())
    {
        if (pPM->StatusBar_EraseBackground(dc, rcClient, this))
            return;
        if (pPM->UsesParentBackground(this) && pPM->DrawWindowBackground(true, dc, this))
            return;
    }
    dc.FillSolidRect(&rcClient, m_clrStatusBk);
    if (!IsThemed())
        DefWindowProc(WM_PAINT, (WPARAM)dc.GetSafeHdc(), 0);
}

void CExtStatusControlBar::DrawPaneBackground(CDC& dc, int nIndex, const CRect& rcPane)
{
    GetPaintManager()->StatusBar_ErasePaneBackground(dc, nIndex, rcPane, this);
}

COLORREF CExtStatusControlBar::GetPaneTextColor(int) const { return COLORREF(-1); }

void CExtStatusControlBar::DrawPane(CDC& dc, int nIndex, const CRect& rcPane, UINT nStyle, HICON hIcon,
                                    LPCTSTR sText, int nTextFormat)
{
    CExtPaintManager* pPM = GetPaintManager();
    const bool bDisabled = (nStyle & SBPS_DISABLED) != 0;
    if (IsThemed() && pPM->StatusBar_PaintPane(dc, nIndex, rcPane, nStyle, hIcon, sText, (UINT)nTextFormat,
                                               bDisabled ? m_clrTextDisabled : m_clrText, this))
        return;
    CRect rcText = rcPane;
    if (hIcon != NULL)
    {
        CExtCmdIcon icon;
        icon.AssignFromHICON(hIcon, true);
        if (!icon.IsEmpty())
        {
            const CSize size = icon.GetSize();
            const int y = rcPane.top + (rcPane.Height() - size.cy) / 2;
            icon.Paint(pPM, dc.GetSafeHdc(), rcPane.left + 1, y, size.cx, size.cy);
            rcText.left += size.cx + 1;
        }
    }
    const bool bShowText = !bDisabled || ((m_nOptionFlags & __ESBO_HIDE_DISABLED_TEXT) == 0 && sText != NULL);
    if (bShowText && sText != NULL)
    {
        rcText.DeflateRect(2, 0);
        if (!rcText.IsRectEmpty())
        {
            COLORREF clr = GetPaneTextColor(nIndex);
            if (clr == COLORREF(-1))
                clr = bDisabled ? m_clrTextDisabled : m_clrText;
            const COLORREF clrOld = dc.SetTextColor(clr);
            dc.DrawText(sText, (int)strlen(sText), &rcText, (UINT)nTextFormat);
            dc.SetTextColor(clrOld);
        }
    }
    if (!IsThemed() || !HasPaneSeparators())
    {
        const bool bBorder = (nIndex == 0) ? (m_nOptionFlags & __ESBO_PANE0_BORDER) != 0
                                           : (nStyle & SBPS_NOBORDERS) == 0;
        if (bBorder)
        {
            CExtPaintManager::PAINTBARBORDERDATA _pbbd(
                this, CExtPaintManager::PAINTBARBORDERDATA::__BB_STATUS_PANE, m_dwStyle, rcPane);
            pPM->DrawBarBorder(dc, _pbbd);
        }
    }
    if (!IsThemed() && g_CurrentPaintManager.IsAppThemed())
    {
        CRect rcFrame = rcPane;
        rcFrame.DeflateRect(1, 1);
        dc.Draw3dRect(&rcFrame, m_clrStatusBk, m_clrStatusBk);
    }
}

bool CExtStatusControlBar::HasPaneSeparators() const
{
    if (IsThemed() && const_cast<CExtStatusControlBar*>(this)->GetPaintManager()->StatusBar_QuerySeparators(
                          const_cast<CExtStatusControlBar*>(this)))
        return true;
    return (m_nOptionFlags & __ESBO_SEPARATORS) != 0;
}

void CExtStatusControlBar::DrawPaneSeparator(CDC& dc, int nIndex, const CRect& rcPrev, const CRect& rcPane)
{
    CExtPaintManager* pPM = GetPaintManager();
    if (pPM->StatusBar_PaintSeparator(dc, nIndex, rcPrev, rcPane, this))
        return;
    CRect rcSep(rcPrev.right, rcPane.top + 1, rcPane.left, rcPane.bottom - 1);
    pPM->DrawSeparator(dc, rcSep, true, true, this);
}

// ---- hit testing and tips -------------------------------------------------------------

int CExtStatusControlBar::HitTestPane(CPoint ptClient) const
{
    if (m_hWnd == NULL || m_nCount <= 0)
        return -1;
    CPoint ptScreen = ptClient;
    ClientToScreen(&ptScreen);
    HWND hWndHit = ::WindowFromPoint(ptScreen);
    if (hWndHit != m_hWnd && (hWndHit == NULL || !::IsChild(m_hWnd, hWndHit)))
        return -1;
    for (int i = 0; i < m_nCount; i++)
    {
        CRect rc;
        GetItemRect(i, &rc);
        if (rc.PtInRect(ptClient))
            return i;
    }
    return -1;
}

CExtPopupMenuTipWnd* CExtStatusControlBar::GetTipWnd()
{
    if (m_nTipStyle == 0)
        return NULL;
    return g_PopupTrackingSite.GetTip();
}

void CExtStatusControlBar::ShowPaneTip(CExtPopupMenuTipWnd* pTip, const RECT& rcScreen, const CString& sText)
{
    if (pTip == NULL || sText.IsEmpty())
        return;
    pTip->SetText(sText);
    pTip->SetTipStyle(m_nTipStyle);
    pTip->Show(this, rcScreen);
}

void CExtStatusControlBar::OnMouseMove(UINT nFlags, CPoint point)
{
    CStatusBar::OnMouseMove(nFlags, point);
    if (CExtPopupMenuWnd::IsMenuTracking())
        return;
    CExtPopupMenuTipWnd* pTip = GetTipWnd();
    if (pTip == NULL)
        return;
    const int nIndex = HitTestPane(point);
    if (nIndex < 0)
        return;
    const CString sTip = GetPaneTipText(nIndex);
    if (sTip.IsEmpty())
        return;
    CRect rc;
    GetItemRect(nIndex, &rc);
    ClientToScreen(&rc);
    ShowPaneTip(pTip, rc, sTip);
}

INT_PTR CExtStatusControlBar::OnToolHitTest(CPoint point, TOOLINFO* pTI) const
{
    if (CExtToolControlBar::g_bButtonMenuTracking || CExtPopupMenuWnd::IsMenuTracking() || m_hWnd == NULL ||
        m_nTipStyle != 0)
        return -1;
    const int nIndex = HitTestPane(point);
    if (nIndex < 0)
        return -1;
    const UINT nID = GetItemID(nIndex);
    if (pTI != NULL)
    {
        GetItemRect(nIndex, &pTI->rect);
        pTI->uId = nID;
        pTI->hwnd = m_hWnd;
        const CString sTip = GetPaneTipText(nIndex);
        pTI->lpszText = sTip.IsEmpty() ? LPSTR_TEXTCALLBACK : _strdup(sTip);
    }
    return (INT_PTR)nID;
}

// ---- context menu and cancel mode -----------------------------------------------------

void CExtStatusControlBar::OnContextMenu(CWnd* pWnd, CPoint point)
{
    if (CExtControlBar::IsFrameInHelpMode(this))
        return;
    CFrameWnd* pFrame = GetParentFrame();
    if (pFrame != NULL && pFrame->IsKindOf(RUNTIME_CLASS(CExtMiniDockFrameWnd)))
        pFrame = pFrame->GetParentFrame();
    if (pFrame == NULL)
    {
        CStatusBar::OnContextMenu(pWnd, point);
        return;
    }
    CWnd* pOwner = GetOwner();
    if (pOwner == NULL)
        pOwner = pFrame;
    CExtPopupMenuWnd* pPopup = new CExtPopupMenuWnd;
    if (!pPopup->CreatePopupMenu(pOwner->GetSafeHwnd()) ||
        !CExtDockBar::BuildBarsPopupMenu(pFrame, pPopup, 3, this, WM_CONTEXTMENU, NULL) || pPopup->ItemGetCount() == 0)
    {
        delete pPopup;
        return;
    }
    pOwner->SetFocus();
    if (!pPopup->TrackPopupMenu(CExtPopupMenuWnd::TMF_OWNER_DRAW, point.x, point.y, NULL, this, NULL, NULL, true))
        delete pPopup;
}

void CExtStatusControlBar::OnCancelMode()
{
    if (CExtPopupMenuWnd::IsMenuTracking())
        CExtPopupMenuWnd::CancelMenuTracking();
    CWnd::CancelToolTips();
    CStatusBar::OnCancelMode();
}

// ---- size and system changes ----------------------------------------------------------

void CExtStatusControlBar::OnSize(UINT nType, int cx, int cy)
{
    CStatusBar::OnSize(nType, cx, cy);
    RepositionPaneControls(true);
}

void CExtStatusControlBar::OnSysColorChange()
{
    Default();
    CExtPaintManager* pPM = GetPaintManager();
    g_CurrentPaintManager.RelaySystemChange(this, pPM, WM_SYSCOLORCHANGE, 0, 0);
    SyncColors();
}

void CExtStatusControlBar::OnSettingChange(UINT uFlags, LPCTSTR lpszSection)
{
    Default();
    CExtPaintManager* pPM = GetPaintManager();
    g_CurrentPaintManager.RelaySystemChange(this, pPM, WM_SETTINGCHANGE, uFlags, LPARAM(lpszSection));
    SyncColors();
}

LRESULT CExtStatusControlBar::OnDisplayChange(WPARAM wParam, LPARAM lParam)
{
    const LRESULT lResult = Default();
    CExtPaintManager* pPM = GetPaintManager();
    g_CurrentPaintManager.RelaySystemChange(this, pPM, WM_DISPLAYCHANGE, wParam, lParam);
    return lResult;
}

LRESULT CExtStatusControlBar::OnThemeChanged(WPARAM wParam, LPARAM lParam)
{
    const LRESULT lResult = Default();
    CExtPaintManager* pPM = GetPaintManager();
    g_CurrentPaintManager.RelaySystemChange(this, pPM, WM_THEMECHANGED, wParam, lParam);
    return lResult;
}
