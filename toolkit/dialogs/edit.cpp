#include "toolkit/dialogs/edit.h"
#include "toolkit/dialogs/control_tooltip.h"
#include "toolkit/core/cmd_manager.h"
#include "toolkit/core/resource_manager.h"
#include "toolkit/theme/pm_bar_parts.h"
#include "toolkit/menus/popup_menu_wnd.h"

IMPLEMENT_DYNCREATE(CExtEditBase, CEdit)
IMPLEMENT_DYNCREATE(CExtEdit, CExtEditBase)

const CExtEditBase::CONTEXT_MENU_ROW CExtEditBase::g_arrContextMenu[8] = {
    {ID_EDIT_UNDO, _T("&Undo")},  {0, NULL},
    {ID_EDIT_CUT, _T("Cu&t")},    {ID_EDIT_COPY, _T("&Copy")},
    {ID_EDIT_PASTE, _T("&Paste")}, {ID_EDIT_CLEAR, _T("Cl&ear")},
    {0, NULL},                    {ID_EDIT_SELECT_ALL, _T("Select &All")},
};

BEGIN_MESSAGE_MAP(CExtEditBase, CEdit)
    ON_WM_CONTEXTMENU()
    ON_WM_CTLCOLOR_REFLECT()
END_MESSAGE_MAP()

CExtEditBase::CExtEditBase()
    : m_nEditFlags(EDIT_THEMED_MENU),
      m_clrBackground(COLORREF(-1L)),
      m_clrBrush(COLORREF(-1L)),
      m_clrText(COLORREF(-1L))
{
    EnableToolTips(TRUE);
    RegisterWithHolder();
}

CExtEditBase::~CExtEditBase()
{
    UnregisterFromHolder();
    m_brushBackground.DeleteObject();
    if (m_wndToolTip.m_hWnd != NULL && ::IsWindow(m_wndToolTip.m_hWnd))
        m_wndToolTip.DestroyWindow();
}

void CExtEditBase::RegisterWithHolder() { g_CurrentPaintManager.RegisterBridge(this); }
void CExtEditBase::UnregisterFromHolder() { g_CurrentPaintManager.UnregisterBridge(this); }
HWND CExtEditBase::GetBridgeHwnd() { return m_hWnd; }
CExtPaintManager* CExtEditBase::GetPaintManager() { return g_CurrentPaintManager.GetPM(); }

bool CExtEditBase::IsEditEnabled() { return m_hWnd != NULL && ::IsWindowEnabled(m_hWnd); }

int CExtEditBase::GetTipMaxWidth(LPCTSTR) { return 250; }

// ---- colours ---------------------------------------------------------------------------

HBRUSH CExtEditBase::CtlColor(CDC* pDC, UINT nCtlColor)
{
    if (nCtlColor != CTLCOLOR_EDIT && nCtlColor != CTLCOLOR_MSGBOX && nCtlColor != CTLCOLOR_STATIC)
        return NULL;
    CExtPaintManager* pPM = GetPaintManager();
    bool bEnabled = IsEditEnabled();
    bool bPlain = !bEnabled || (GetStyle() & ES_READONLY) != 0;
    COLORREF clrText = m_clrText;
    if (clrText == COLORREF(-1L))
    {
        int nSys = bEnabled ? COLOR_WINDOWTEXT : COLOR_GRAYTEXT;
        clrText = pPM != NULL ? pPM->LookupColor(nSys, this) : ::GetSysColor(nSys);
    }
    COLORREF clrBack = m_clrBackground;
    if (clrBack == COLORREF(-1L))
    {
        int nSys = bPlain ? COLOR_BTNFACE : COLOR_WINDOW;
        clrBack = pPM != NULL ? pPM->LookupColor(nSys, this) : ::GetSysColor(nSys);
    }
    pDC->SetBkColor(clrBack);
    pDC->SetTextColor(clrText);
    if (clrBack != m_clrBrush || m_brushBackground.GetSafeHandle() == NULL)
    {
        m_brushBackground.DeleteObject();
        m_brushBackground.CreateSolidBrush(clrBack);
        m_clrBrush = clrBack;
    }
    return (HBRUSH)m_brushBackground.GetSafeHandle();
}

// ---- commands --------------------------------------------------------------------------

bool CExtEditBase::QueryCommandEnabled(UINT nCmdID, bool& bEnabled)
{
    bool bWritable = (GetStyle() & ES_READONLY) == 0;
    int nStart = 0, nEnd = 0;
    ::SendMessage(m_hWnd, EM_GETSEL, (WPARAM)&nStart, (LPARAM)&nEnd);
    bool bSelection = nStart != nEnd;
    switch (nCmdID)
    {
    case ID_EDIT_UNDO:
        bEnabled = ::SendMessage(m_hWnd, EM_CANUNDO, 0, 0) != 0 && bWritable;
        return true;
    case ID_EDIT_CUT:
    case ID_EDIT_CLEAR:
        bEnabled = bSelection && bWritable;
        return true;
    case ID_EDIT_COPY:
        bEnabled = bSelection;
        return true;
    case ID_EDIT_PASTE:
        bEnabled = ::IsClipboardFormatAvailable(CF_TEXT) && bWritable;
        return true;
    case ID_EDIT_SELECT_ALL:
    {
        int nLength = ::GetWindowTextLength(m_hWnd);
        bEnabled = nLength > 0 && !(nStart == 0 && nEnd == nLength);
        return true;
    }
    }
    return false;
}

bool CExtEditBase::ExecuteCommand(UINT nCmdID)
{
    switch (nCmdID)
    {
    case ID_EDIT_UNDO: ::SendMessage(m_hWnd, EM_UNDO, 0, 0); return true;
    case ID_EDIT_CUT: ::SendMessage(m_hWnd, WM_CUT, 0, 0); return true;
    case ID_EDIT_COPY: ::SendMessage(m_hWnd, WM_COPY, 0, 0); return true;
    case ID_EDIT_PASTE: ::SendMessage(m_hWnd, WM_PASTE, 0, 0); return true;
    case ID_EDIT_CLEAR: ::SendMessage(m_hWnd, WM_CLEAR, 0, 0); return true;
    case ID_EDIT_SELECT_ALL:
        ::SendMessage(m_hWnd, EM_SETSEL, 0, -1);
        ::SendMessage(m_hWnd, EM_SCROLLCARET, 0, 0);
        return true;
    }
    return false;
}

BOOL CExtEditBase::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    if ((m_nEditFlags & EDIT_THEMED_MENU) != 0 && m_hWnd != NULL &&
        (nCode == (int)CN_COMMAND || nCode == (int)CN_UPDATE_COMMAND_UI))
    {
        bool bEnabled = false;
        if (QueryCommandEnabled(nID, bEnabled))
        {
            if (pHandlerInfo != NULL)
                return TRUE;
            if (nCode == (int)CN_UPDATE_COMMAND_UI)
            {
                if (pExtra != NULL)
                    ((CCmdUI*)pExtra)->Enable(bEnabled ? TRUE : FALSE);
                return TRUE;
            }
            ExecuteCommand(nID);
            return TRUE;
        }
    }
    return CEdit::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

// ---- context menu ----------------------------------------------------------------------

bool CExtEditBase::BuildContextMenu(CExtPopupMenuWnd* pPopup)
{
    LPCTSTR sProfile = g_CommandManager->ProfileNameFromWnd(m_hWnd);
    if (sProfile == NULL || pPopup == NULL)
        return false;
    for (const CONTEXT_MENU_ROW& row : g_arrContextMenu)
    {
        if (row.m_nCmdID == 0)
        {
            pPopup->ItemInsert(CExtPopupMenuWnd::TYPE_SEPARATOR, -1);
            continue;
        }
        CExtCmdItem* pCmd = g_CommandManager->CmdGetPtr(sProfile, row.m_nCmdID);
        if (pCmd == NULL)
            pCmd = g_CommandManager->CmdAllocPtr(sProfile, row.m_nCmdID);
        if (pCmd == NULL)
            continue;
        if (pCmd->m_sMenuText.IsEmpty())
        {
            CString sText;
            if (g_CurrentResourceManager->LoadString(sText, row.m_nCmdID))
            {
                sText.Replace(_T('\t'), _T(' '));
                sText.Remove(_T('\r'));
                sText.TrimLeft();
                sText.TrimRight();
                int nBreak = sText.Find(_T('\n'));
                if (nBreak >= 0)
                {
                    sText = sText.Mid(nBreak + 1);
                    sText.TrimLeft();
                    sText.TrimRight();
                }
                pCmd->m_sMenuText = sText;
            }
            if (pCmd->m_sMenuText.IsEmpty())
                pCmd->m_sMenuText = row.m_sFallbackText;
        }
        pCmd->SetBasicCommand(true);
        pPopup->ItemInsert(row.m_nCmdID, -1);
    }
    return true;
}

void CExtEditBase::OnContextMenu(CWnd* pWnd, CPoint point)
{
    if ((m_nEditFlags & EDIT_THEMED_MENU) == 0 || g_CommandManager->ProfileNameFromWnd(m_hWnd) == NULL)
    {
        Default();
        return;
    }
    HWND hWndOwn = m_hWnd;
    CExtPopupMenuWnd* pPopup = new CExtPopupMenuWnd;
    if (!pPopup->CreatePopupMenu(m_hWnd) || !BuildContextMenu(pPopup))
    {
        delete pPopup;
        Default();
        return;
    }
    CRect rcClient;
    ::GetClientRect(m_hWnd, &rcClient);
    ::ClientToScreen(m_hWnd, (LPPOINT)&rcClient.left);
    ::ClientToScreen(m_hWnd, (LPPOINT)&rcClient.right);
    if (!rcClient.PtInRect(point))
    {
        point.x = (rcClient.left + rcClient.right) / 2;
        point.y = (rcClient.top + rcClient.bottom) / 2;
    }
    ::SetFocus(m_hWnd);
    (void)pWnd;
    if (!pPopup->TrackPopupMenu(0x880, point.x, point.y, NULL, this, NULL, NULL, true))
    {
        delete pPopup;
        if (::IsWindow(hWndOwn))
            Default();
        return;
    }
    if (::IsWindow(hWndOwn))
        ::RedrawWindow(hWndOwn, NULL, NULL,
                       RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_ERASENOW | RDW_FRAME);
}

// ---- tool tips -------------------------------------------------------------------------

bool CExtEditBase::EnsureToolTip()
{
    return EnsureControlToolTip(m_wndToolTip, this);
}

void CExtEditBase::SetTooltipText(LPCTSTR sText, bool bActivate)
{
    SetControlToolTipText(m_wndToolTip, this, sText, bActivate);
}

void CExtEditBase::ActivateTooltip(bool bActivate)
{
    ActivateControlToolTip(m_wndToolTip, bActivate);
}

BOOL CExtEditBase::PreTranslateMessage(MSG* pMsg)
{
    if (!CExtPopupMenuWnd::IsMenuTracking() && EnsureToolTip())
        m_wndToolTip.RelayEvent(pMsg);
    return CEdit::PreTranslateMessage(pMsg);
}

INT_PTR CExtEditBase::HitTestThroughToolbar(CWnd* pBar, CWnd* pTipOwner, CPoint point, TOOLINFO* pTI) const
{
    return ForwardToolbarToolTip(const_cast<CExtEditBase*>(this), pBar, pTipOwner->m_hWnd, point, pTI);
}

INT_PTR CExtEditBase::OnToolHitTest(CPoint point, TOOLINFO* pTI) const
{
    HWND hWndParent = m_hWnd != NULL ? ::GetParent(m_hWnd) : NULL;
    CWnd* pParent = hWndParent != NULL ? CWnd::FromHandlePermanent(hWndParent) : NULL;
    if (pParent != NULL && CExtPaintManagerHolder::IsKindOfByName(pParent, "CExtToolControlBar"))
        return HitTestThroughToolbar(pParent, const_cast<CExtEditBase*>(this), point, pTI);
    return CEdit::OnToolHitTest(point, pTI);
}

LRESULT CExtEditBase::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NOTIFY && m_wndToolTip.m_hWnd != NULL)
    {
        NMHDR* pNMHDR = (NMHDR*)lParam;
        if (pNMHDR != NULL && pNMHDR->code == TTN_SHOW && pNMHDR->hwndFrom == m_wndToolTip.m_hWnd)
            ::SetWindowPos(m_wndToolTip.m_hWnd, HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
    }
    return CEdit::WindowProc(message, wParam, lParam);
}

// ---- CExtEdit --------------------------------------------------------------------------

BEGIN_MESSAGE_MAP(CExtEdit, CExtEditBase)
    ON_WM_SETCURSOR()
    ON_WM_TIMER()
    ON_WM_SETFOCUS()
    ON_WM_KILLFOCUS()
    ON_WM_NCPAINT()
END_MESSAGE_MAP()

CExtEdit::CExtEdit() : m_bMouseOver(false), m_bHoverFrame(false) {}

CExtEdit::~CExtEdit() {}

void CExtEdit::RedrawFrame()
{
    if (m_hWnd != NULL)
        ::RedrawWindow(m_hWnd, NULL, NULL,
                       RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_ERASENOW | RDW_FRAME);
}

void CExtEdit::PaintFrame(CRect rcFrame, CDC* pDC)
{
    CWindowDC* pWindowDC = NULL;
    if (pDC == NULL)
        pDC = pWindowDC = new CWindowDC(this);
    CExtPaintManager* pPM = GetPaintManager();
    if (pPM != NULL)
    {
        bool bFocus = ::GetFocus() == m_hWnd && !CExtPopupMenuWnd::IsMenuTracking();
        CExtPaintManager::PAINTEDITFRAMEDATA data(this, rcFrame, true, m_bMouseOver, IsEditEnabled(), bFocus,
                                                  (GetStyle() & ES_READONLY) != 0);
        pPM->DrawEditFrame(*pDC, data);
    }
    delete pWindowDC;
}

BOOL CExtEdit::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message)
{
    if (message == WM_MOUSEMOVE)
    {
        DWORD dwPos = ::GetMessagePos();
        CPoint pt((short)LOWORD(dwPos), (short)HIWORD(dwPos));
        CRect rcWnd;
        GetWindowRect(&rcWnd);
        if (rcWnd.PtInRect(pt))
        {
            SetTimer(1, 10, NULL);
            HoverStep();
        }
    }
    return CExtEditBase::OnSetCursor(pWnd, nHitTest, message);
}

void CExtEdit::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent != 1)
    {
        CExtEditBase::OnTimer(nIDEvent);
        return;
    }
    HoverStep();
}

void CExtEdit::HoverStep()
{
    CPoint pt;
    if (!::GetCursorPos(&pt) || !IsWindowVisible())
        return;
    bool bOld = m_bMouseOver;
    CRect rcWnd;
    GetWindowRect(&rcWnd);
    if (rcWnd.PtInRect(pt))
    {
        if (::WindowFromPoint(pt) == m_hWnd)
            m_bMouseOver = true;
    }
    else
    {
        KillTimer(1);
        m_bMouseOver = false;
    }
    if (bOld != m_bMouseOver)
        RedrawFrame();
}

void CExtEdit::OnSetFocus(CWnd* pOldWnd)
{
    CExtEditBase::OnSetFocus(pOldWnd);
    RedrawFrame();
}

void CExtEdit::OnKillFocus(CWnd* pNewWnd)
{
    CExtEditBase::OnKillFocus(pNewWnd);
    RedrawFrame();
}

HWND CExtEdit::FindSpinBuddy(bool& bAlignRight)
{
    HWND hWndNext = ::GetWindow(m_hWnd, GW_HWNDNEXT);
    if (hWndNext == NULL)
        return NULL;
    TCHAR sClass[17] = {0};
    ::GetClassName(hWndNext, sClass, 16);
    if (lstrcmpi(sClass, _T("msctls_updown32")) != 0)
        return NULL;
    DWORD dwStyle = (DWORD)::GetWindowLong(hWndNext, GWL_STYLE);
    if ((dwStyle & UDS_AUTOBUDDY) == 0 || (dwStyle & (UDS_ALIGNRIGHT | UDS_ALIGNLEFT)) == 0)
        return NULL;
    bAlignRight = (dwStyle & UDS_ALIGNRIGHT) != 0;
    return hWndNext;
}

void CExtEdit::PaintSpinFrame(HWND hWndSpin, bool bAlignRight, COLORREF clrBack)
{
    HDC hdc = ::GetWindowDC(hWndSpin);
    if (hdc == NULL)
        return;
    CDC* pDC = CDC::FromHandle(hdc);
    CRect rcSpinWnd, rcSpinClient, rcEditWnd;
    ::GetWindowRect(hWndSpin, &rcSpinWnd);
    ::GetWindowRect(m_hWnd, &rcEditWnd);
    ::GetClientRect(hWndSpin, &rcSpinClient);
    POINT ptOrg = {0, 0};
    ::ClientToScreen(hWndSpin, &ptOrg);
    rcSpinClient.OffsetRect(ptOrg.x - rcSpinWnd.left, ptOrg.y - rcSpinWnd.top);
    if ((::GetWindowLong(hWndSpin, GWL_EXSTYLE) & WS_EX_LAYOUTRTL) != 0)
        rcSpinClient.OffsetRect(-3, 0);
    ::ExcludeClipRect(hdc, rcSpinClient.left, rcSpinClient.top, rcSpinClient.right, rcSpinClient.bottom);
    CRect rc(0, 0, rcSpinWnd.Width(), rcSpinWnd.Height());
    pDC->FillSolidRect(&rc, clrBack);
    if (bAlignRight)
        rc.left -= rcEditWnd.Width();
    else
        rc.right += rcEditWnd.Width();
    rc.DeflateRect(3, 3);
    PaintFrame(rc, pDC);
    ::ReleaseDC(hWndSpin, hdc);
}

void CExtEdit::OnNcPaint()
{
    CRect rcWnd, rcClient;
    GetWindowRect(&rcWnd);
    GetClientRect(&rcClient);
    ClientToScreen(&rcClient);
    rcClient.OffsetRect(-rcWnd.left, -rcWnd.top);
    rcWnd.OffsetRect(-rcWnd.left, -rcWnd.top);
    if (rcWnd == rcClient)
        return;

    CExtPaintManager* pPM = GetPaintManager();
    CWindowDC dc(this);
    DWORD dwStyle = GetStyle();
    if ((dwStyle & (WS_VSCROLL | WS_HSCROLL)) == (WS_VSCROLL | WS_HSCROLL))
    {
        CRect rcSquare(rcClient.right, rcClient.bottom, rcClient.right + ::GetSystemMetrics(SM_CXVSCROLL),
                       rcClient.bottom + ::GetSystemMetrics(SM_CYHSCROLL));
        dc.FillSolidRect(&rcSquare, pPM != NULL ? pPM->LookupColor(COLOR_WINDOW, this) : ::GetSysColor(COLOR_WINDOW));
    }
    CRect rcInner(rcClient);
    if ((dwStyle & WS_VSCROLL) != 0)
        rcInner.right += ::GetSystemMetrics(SM_CXVSCROLL);
    if ((dwStyle & WS_HSCROLL) != 0)
        rcInner.bottom += ::GetSystemMetrics(SM_CYHSCROLL);

    CRect rcFrame(rcWnd);
    bool bAlignRight = true;
    HWND hWndSpin = FindSpinBuddy(bAlignRight);
    if (hWndSpin != NULL)
    {
        CRect rcSpinClient;
        ::GetClientRect(hWndSpin, &rcSpinClient);
        if (bAlignRight)
        {
            rcFrame.right += rcSpinClient.Width();
            rcInner.right += rcSpinClient.Width();
        }
        else
        {
            rcFrame.left -= rcSpinClient.Width();
            rcInner.left -= rcSpinClient.Width();
        }
    }
    dc.ExcludeClipRect(&rcInner);
    if ((dwStyle & (WS_VSCROLL | WS_HSCROLL)) != 0)
        Default();

    bool bPlain = (dwStyle & ES_READONLY) != 0 || !IsEditEnabled();
    int nSys = bPlain ? COLOR_BTNFACE : COLOR_WINDOW;
    COLORREF clrBack = pPM != NULL ? pPM->LookupColor(nSys, this) : ::GetSysColor(nSys);
    dc.FillSolidRect(&rcWnd, clrBack);
    rcFrame.DeflateRect(3, 3);
    PaintFrame(rcFrame, &dc);
    if (hWndSpin != NULL)
        PaintSpinFrame(hWndSpin, bAlignRight, clrBack);
}
