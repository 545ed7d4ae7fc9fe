#include "toolkit/dialogs/button.h"
#include "toolkit/dialogs/control_font.h"
#include "toolkit/dialogs/memory_dc.h"
#include "toolkit/core/cmd_manager.h"
#include "toolkit/core/message_point.h"
#include "toolkit/theme/pm_push_button.h"
#include "toolkit/menus/popup_menu_wnd.h"
#include "toolkit/menus/popup_menu_tip_wnd.h"

IMPLEMENT_DYNCREATE(CExtButton, CButton)

// The toolbar's messages to its attached controls, registered by name here because the
// bars library is linked after this one.
static const UINT g_nMsgPutToPopupMenuBtn = ::RegisterWindowMessage(_T("CExtControlBar::g_nMsgPutToPopupMenu"));
static const UINT g_nMsgContinueTrackMenuBtn =
    ::RegisterWindowMessage(_T("CExtToolControlBar::g_nMsgContinueTrackMenu"));

CExtButton::CExtButton()
    : m_nMenuAlign(4),
      m_nMenuLeftAreaWidth(0),
      m_nTipStyle(4),
      m_nKeyFlags(0x03),
      m_nContentAlign(9),
      m_nButtonType(0),
      m_nCheck(0),
      m_nState(STATE_FOCUS_RECT | STATE_DRAW_BORDER),
      m_nOptions(0),
      m_nPressedPart(PART_NONE),
      m_hCursor(NULL),
      m_clrBackground(COLORREF(-1L)),
      m_clrText1(COLORREF(-1L)),
      m_clrText2(COLORREF(-1L)),
      m_clrText3(COLORREF(-1L)),
      m_clrText4(COLORREF(-1L)),
      m_bTipActive(false)
{
    RegisterWithHolder();
}

CExtButton::~CExtButton()
{
    UnregisterFromHolder();
    if (m_hCursor != NULL)
        ::DestroyCursor(m_hCursor);
}

void CExtButton::RegisterWithHolder() { g_CurrentPaintManager.RegisterBridge(this); }
void CExtButton::UnregisterFromHolder() { g_CurrentPaintManager.UnregisterBridge(this); }
HWND CExtButton::GetBridgeHwnd() { return m_hWnd; }
CExtPaintManager* CExtButton::GetPaintManager() { return g_CurrentPaintManager.GetPM(); }

void CExtButton::OnPaintManagerInstalled(CExtPaintManager* pPM)
{
    m_icon.OnSysColorChange(pPM);
    if (pPM == GetPaintManager() && IsAlive())
    {
        ::SetWindowPos(m_hWnd, NULL, 0, 0, 0, 0,
                       SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED |
                           SWP_NOOWNERZORDER);
        ::RedrawWindow(m_hWnd, NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    }
}

void CExtButton::SetStateIcons(HICON hIconFirst, HICON hIconSecond, HICON hIconDisabled,
                               HICON hIconPushed)
{
    m_icon.Empty();
    if (hIconFirst != NULL && hIconSecond != NULL)
    {
        m_icon.m_bmpHover.AssignFromHICON(hIconFirst);
        m_icon.m_dwFlags |= CExtCmdIcon::__EXT_ICON_PERSISTENT_BITMAP_HOVER;
        m_icon.m_bmpNormal.AssignFromHICON(hIconSecond);
    }
    else if (hIconFirst != NULL || hIconSecond != NULL)
        m_icon.m_bmpNormal.AssignFromHICON(hIconFirst != NULL ? hIconFirst : hIconSecond);
    if (hIconFirst != NULL)
        ::DestroyIcon(hIconFirst);
    if (hIconSecond != NULL)
        ::DestroyIcon(hIconSecond);
    if (hIconDisabled != NULL)
    {
        m_icon.m_bmpDisabled.AssignFromHICON(hIconDisabled);
        m_icon.m_dwFlags |= CExtCmdIcon::__EXT_ICON_PERSISTENT_BITMAP_DISABLED;
        ::DestroyIcon(hIconDisabled);
    }
    if (hIconPushed != NULL)
    {
        m_icon.m_bmpPressed.AssignFromHICON(hIconPushed);
        m_icon.m_dwFlags |= CExtCmdIcon::__EXT_ICON_PERSISTENT_BITMAP_PRESSED;
        ::DestroyIcon(hIconPushed);
    }
    if (hIconFirst == NULL && hIconSecond == NULL && hIconDisabled == NULL && hIconPushed == NULL)
        return;
    if (IsAlive())
    {
        ::InvalidateRect(m_hWnd, NULL, TRUE);
        ::UpdateWindow(m_hWnd);
    }
}

void CExtButton::SetIcon(HICON hIcon1, HICON hIcon2, HICON hIcon3, HICON hIcon4)
{
    SetStateIcons(hIcon1, hIcon2, hIcon3, hIcon4);
}

bool CExtButton::SetBtnCursor(int nCursorID)
{
    if (m_hCursor != NULL)
    {
        ::DestroyCursor(m_hCursor);
        m_hCursor = NULL;
    }
    if (nCursorID == -1)
        return true;
    m_hCursor = (HCURSOR)::LoadImage(AfxGetResourceHandle(), MAKEINTRESOURCE(nCursorID),
                                     IMAGE_CURSOR, 0, 0, 0);
    if (m_hCursor == NULL)
    {
        // System cursors are shared: copy it so the button may destroy its own.
        HCURSOR hSys = ::LoadCursor(NULL, MAKEINTRESOURCE(nCursorID));
        if (hSys != NULL)
            m_hCursor = (HCURSOR)::CopyIcon(hSys);
    }
    return m_hCursor != NULL;
}

// ---- tips ------------------------------------------------------------------------------

CExtPopupMenuTipWnd* CExtButton::GetSharedTipWnd()
{
    if (m_nTipStyle == 0)
        return NULL;
    static CExtPopupMenuTipWnd* s_pTip = NULL;
    if (s_pTip == NULL)
        s_pTip = new CExtPopupMenuTipWnd;
    return s_pTip;
}

void CExtButton::ShowSharedTip(CExtPopupMenuTipWnd* pTip, const RECT& rcButtonScreen)
{
    if (pTip == NULL || !m_bTipActive || m_strTipText.IsEmpty())
        return;
    pTip->SetText(m_strTipText);
    pTip->SetTipStyle(m_nTipStyle);
    pTip->Show(this, rcButtonScreen);
}

int CExtButton::GetTipMaxWidth(LPCTSTR) { return 250; }

void CExtButton::SetTooltipText(LPCTSTR sText, bool bActivate)
{
    m_strTipText = (sText != NULL) ? sText : _T("");
    if (GetSharedTipWnd() != NULL)
    {
        m_bTipActive = bActivate;
        return;
    }
    if (!IsAlive())
        return;
    if (m_wndToolTip.m_hWnd == NULL)
    {
        if (!m_wndToolTip.Create(this, 0))
            return;
        m_wndToolTip.Activate(FALSE);
    }
    if (m_wndToolTip.GetToolCount() == 0)
    {
        CRect rc;
        GetClientRect(&rc);
        m_wndToolTip.AddTool(this, m_strTipText, &rc, 1);
    }
    m_wndToolTip.UpdateTipText(m_strTipText, this, 1);
    m_wndToolTip.SendMessage(TTM_SETMAXTIPWIDTH, 0, -1);
    if (m_strTipText.Find(_T('\r')) >= 0)
        m_wndToolTip.SendMessage(TTM_SETMAXTIPWIDTH, 0, GetTipMaxWidth(m_strTipText));
    m_wndToolTip.Activate(bActivate ? TRUE : FALSE);
}

void CExtButton::ActivateTooltip(bool bActivate)
{
    m_bTipActive = bActivate;
    if (GetSharedTipWnd() == NULL && m_wndToolTip.m_hWnd != NULL && m_wndToolTip.GetToolCount() > 0)
        m_wndToolTip.Activate(bActivate ? TRUE : FALSE);
}

// ---- state and parts -------------------------------------------------------------------

bool CExtButton::HasMenu() { return m_menu.m_hMenu != NULL; }

bool CExtButton::IsButtonEnabled() { return IsAlive() && ::IsWindowEnabled(m_hWnd); }

bool CExtButton::IsCheckType() const
{
    switch (m_nButtonType)
    {
    case BS_CHECKBOX: case BS_AUTOCHECKBOX: case BS_RADIOBUTTON:
    case BS_3STATE: case BS_AUTO3STATE: case BS_AUTORADIOBUTTON:
        return true;
    }
    return false;
}

bool CExtButton::IsPushType() const
{
    return m_nButtonType == BS_PUSHBUTTON || m_nButtonType == BS_DEFPUSHBUTTON ||
           m_nButtonType == BS_USERBUTTON || m_nButtonType == BS_OWNERDRAW;
}

void CExtButton::Refresh()
{
    if (!IsAlive())
        return;
    ::InvalidateRect(m_hWnd, NULL, TRUE);
    ::UpdateWindow(m_hWnd);
}

void CExtButton::GetPartRects(CRect& rcMain, CRect& rcDropDown)
{
    rcMain.SetRectEmpty();
    if (IsAlive())
        ::GetClientRect(m_hWnd, &rcMain);
    rcDropDown = rcMain;
    rcDropDown.left = rcDropDown.right;
    if ((m_nState & STATE_SPLIT) != 0)
    {
        // the small drop-down arrow glyph is 5 pixels wide, plus 3 on each side
        rcDropDown.left = rcDropDown.right - (5 + 6);
        rcMain.right = rcDropDown.left;
    }
}

int CExtButton::HitTestPart(POINT ptClient)
{
    CRect rcMain, rcDropDown;
    GetPartRects(rcMain, rcDropDown);
    if (rcMain.PtInRect(ptClient))
        return PART_MAIN;
    if ((m_nState & STATE_SPLIT) != 0 && rcDropDown.PtInRect(ptClient))
        return PART_DROPDOWN;
    return PART_NONE;
}

int CExtButton::HitTestAt(POINT ptClient)
{
    if (!IsAlive())
        return PART_NONE;
    POINT ptScreen = ptClient;
    ::ClientToScreen(m_hWnd, &ptScreen);
    if (::WindowFromPoint(ptScreen) != m_hWnd)
        return PART_NONE;
    if ((m_nState & STATE_SPLIT) == 0)
        return PART_MAIN;
    return HitTestPart(ptClient);
}

int CExtButton::HitTestCursor()
{
    if (!IsAlive())
        return PART_NONE;
    POINT pt;
    if (!::GetCursorPos(&pt))
        return PART_NONE;
    ::ScreenToClient(m_hWnd, &pt);
    return HitTestAt(pt);
}

// ---- taking over -----------------------------------------------------------------------

void CExtButton::PreSubclassWindow()
{
    CButton::PreSubclassWindow();
    DWORD dwStyle = (DWORD)::GetWindowLong(m_hWnd, GWL_STYLE);
    m_nButtonType = (int)(dwStyle & 0x0F);
    ::SendMessage(m_hWnd, BM_SETSTYLE, BS_OWNERDRAW, TRUE);
    UINT nHorz = 1, nVert = 8;
    DWORD dwH = dwStyle & (BS_LEFT | BS_RIGHT);
    if (dwH == BS_LEFT)
        nHorz = 0;
    else if (dwH == BS_RIGHT)
        nHorz = 2;
    DWORD dwV = dwStyle & (BS_TOP | BS_BOTTOM);
    if (dwV == BS_TOP)
        nVert = 4;
    else if (dwV == BS_BOTTOM)
        nVert = 16;
    m_nContentAlign = nHorz | nVert;
    m_nCheck = (int)::SendMessage(m_hWnd, BM_GETCHECK, 0, 0);
    ::PostMessage(m_hWnd, WM_ENABLE, IsButtonEnabled() ? TRUE : FALSE, 0);
}

// ---- mouse -----------------------------------------------------------------------------

void CExtButton::OnButtonDown(WPARAM, LPARAM lParam, bool bTakeFocus)
{
    if (bTakeFocus && ::IsWindowEnabled(m_hWnd))
    {
        if (!IsAlive())
            return;
        if (::GetFocus() != m_hWnd)
            ::SetFocus(m_hWnd);
    }
    if (!IsAlive())
        return;
    m_nPressedPart = HitTestAt(MessagePoint(m_hWnd, WM_LBUTTONDOWN, lParam));
    if (m_nPressedPart != PART_NONE)
    {
        m_nState |= STATE_HOVER | STATE_PUSHED | STATE_PRESSING;
        if (::GetCapture() != m_hWnd)
            CExtMouseCaptureSink::SetCapture(m_hWnd);
        Refresh();
    }
}

void CExtButton::OnButtonMove(WPARAM wParam, LPARAM lParam)
{
    // Where this move was made, not where the pointer is now: the pushed look it sets
    // decides whether the release that follows it clicks.
    int nPart = HitTestAt(MessagePoint(m_hWnd, WM_MOUSEMOVE, lParam));
    bool bPressing = (m_nState & STATE_PRESSING) != 0;
    bool bOver = bPressing ? (nPart == m_nPressedPart) : (nPart != PART_NONE);
    bool bChanged = false;
    if (bOver && CExtPopupMenuWnd::stat_TestWindowsShareParent(m_hWnd, ::GetActiveWindow(), true,
                                                               true, true))
    {
        if (::GetCapture() != m_hWnd)
            CExtMouseCaptureSink::SetCapture(m_hWnd);
        if ((m_nState & STATE_HOVER) != 0)
            return;
        m_nState |= STATE_HOVER;
        if ((wParam & MK_LBUTTON) != 0 && bPressing)
            m_nState |= STATE_PUSHED;
        else
            m_nState &= ~STATE_PUSHED;
        bChanged = true;
    }
    else
    {
        if (::GetCapture() == m_hWnd && !bPressing)
            ::ReleaseCapture();
        if (!IsAlive() || (m_nState & STATE_HOVER) == 0)
            return;
        m_nState &= ~(STATE_HOVER | STATE_PUSHED);
        bChanged = true;
    }
    if (!bChanged || !IsAlive())
        return;
    ::InvalidateRect(m_hWnd, NULL, TRUE);
    ::UpdateWindow(m_hWnd);
    if (m_nTipStyle != 0 && m_bTipActive && !m_strTipText.IsEmpty() &&
        !CExtPopupMenuWnd::IsMenuTracking() && (m_nState & STATE_HOVER) != 0)
    {
        CRect rc;
        ::GetWindowRect(m_hWnd, &rc);
        ShowSharedTip(GetSharedTipWnd(), rc);
    }
}

void CExtButton::OnButtonUp(WPARAM, LPARAM lParam)
{
    // Judged where the hand released it: by the time a busy thread takes the release
    // the pointer may be elsewhere.
    int nPart = HitTestAt(MessagePoint(m_hWnd, WM_LBUTTONUP, lParam));
    bool bClick = (m_nState & (STATE_PUSHED | STATE_PRESSING)) == (STATE_PUSHED | STATE_PRESSING) &&
                  nPart == m_nPressedPart;
    m_nState &= ~(STATE_HOVER | STATE_PUSHED | STATE_PRESSING);
    m_nPressedPart = PART_NONE;
    if (::GetCapture() == m_hWnd)
        ::ReleaseCapture();
    Refresh();
    if (bClick && IsAlive() && IsButtonEnabled() && ::IsWindowVisible(m_hWnd))
        OnButtonClick(false, (m_nState & STATE_SPLIT) != 0 && nPart == PART_DROPDOWN);
}

void CExtButton::OnCancelModeNow()
{
    if (::GetCapture() == m_hWnd)
        ::ReleaseCapture();
    m_nState &= ~(STATE_HOVER | STATE_PUSHED | STATE_PRESSING | STATE_KEY_PRESS);
    Refresh();
}

// ---- keyboard --------------------------------------------------------------------------

BOOL CExtButton::PreTranslateMessage(MSG* pMsg)
{
    if (!CExtPopupMenuWnd::IsMenuTracking() && GetSharedTipWnd() == NULL &&
        m_wndToolTip.m_hWnd != NULL)
        m_wndToolTip.RelayEvent(pMsg);
    if ((pMsg->message == WM_KEYDOWN || pMsg->message == WM_KEYUP) &&
        (pMsg->wParam == VK_RETURN || pMsg->wParam == VK_SPACE))
    {
        if (!IsButtonEnabled() || !::IsWindowVisible(m_hWnd))
            return TRUE;
        if (pMsg->wParam == VK_RETURN)
        {
            if (pMsg->message == WM_KEYDOWN)
                OnButtonClick(true, false);
            return TRUE;
        }
        if (pMsg->message == WM_KEYDOWN)
        {
            if ((m_nState & STATE_PRESSING) == 0)
            {
                m_nState |= STATE_PUSHED | STATE_PRESSING | STATE_KEY_PRESS;
                Refresh();
            }
            return TRUE;
        }
        m_nState &= ~(STATE_HOVER | STATE_PUSHED | STATE_PRESSING | STATE_KEY_PRESS);
        OnButtonClick(true, false);
        return TRUE;
    }
    if ((m_nKeyFlags & 0x01) != 0 && (pMsg->message == WM_KEYUP || pMsg->message == WM_SYSKEYUP) &&
        MatchesMnemonic((UINT)pMsg->wParam) && OnMnemonicActivate())
        return FALSE;
    return CButton::PreTranslateMessage(pMsg);
}

bool CExtButton::MatchesMnemonic(UINT nVirtualKey)
{
    if ((m_nKeyFlags & 0x01) == 0 || !IsAlive())
        return false;
    if ((::GetKeyState(VK_SHIFT) & 0x8000) != 0 || (::GetKeyState(VK_CONTROL) & 0x8000) != 0)
        return false;
    CString s;
    GetWindowText(s);
    int n = s.Find(_T('&'));
    if (n < 0 || n + 1 >= s.GetLength())
        return false;
    TCHAR ch = (TCHAR)(UINT_PTR)::CharUpper((LPTSTR)(UINT_PTR)(BYTE)s[n + 1]);
    return (UINT)(BYTE)ch == nVirtualKey;
}

bool CExtButton::OnMnemonicActivate()
{
    OnButtonClick(true, (m_nKeyFlags & 0x02) != 0);
    return true;
}

// ---- click and menu --------------------------------------------------------------------

void CExtButton::OnButtonClick(bool bFromKeyboard, bool bOnDropDownPart)
{
    if (!IsAlive())
        return;
    HWND hWndParent = ::GetParent(m_hWnd);
    if (hWndParent == NULL)
        return;
    UINT nID = (UINT)::GetDlgCtrlID(m_hWnd);
    bool bSent = false;
    if (IsCheckType())
    {
        int nCheck = (int)::SendMessage(m_hWnd, BM_GETCHECK, 0, 0);
        ::SendMessage(m_hWnd, BM_SETCHECK, nCheck == 0 ? 1 : 0, 0);
        if (!IsAlive())
            return;
        ::SendMessage(hWndParent, WM_COMMAND, MAKEWPARAM(nID, BN_CLICKED), (LPARAM)m_hWnd);
        bSent = true;
    }
    else if (IsPushType())
    {
        bool bMenuPart = (m_nState & STATE_SPLIT) == 0 || bOnDropDownPart;
        if (bMenuPart && OnTrackPopup(bFromKeyboard))
            return;
        if (!IsAlive())
            return;
        if (HasMenu() && bMenuPart)
            return;
        ::SendMessage(hWndParent, WM_COMMAND, MAKEWPARAM(nID, BN_CLICKED), (LPARAM)m_hWnd);
        bSent = true;
    }
    if (bSent)
        Refresh();
}

void CExtButton::stat_PaintCombinedContent(LPVOID pCookie, CDC& dc, const CWnd& wndPopup,
                                           const CRect& rcExcludeArea, int)
{
    CExtButton* pBtn = (CExtButton*)pCookie;
    if (pBtn == NULL || rcExcludeArea.IsRectEmpty() || !pBtn->IsAlive())
        return;
    POINT ptBtn = {0, 0}, ptMenu = {0, 0};
    ::ClientToScreen(pBtn->m_hWnd, &ptBtn);
    ::ClientToScreen(wndPopup.m_hWnd, &ptMenu);
    POINT ptOld;
    ::OffsetViewportOrgEx(dc.m_hDC, ptBtn.x - ptMenu.x, ptBtn.y - ptMenu.y, &ptOld);
    pBtn->RenderButton(dc, true, true);
    ::SetViewportOrgEx(dc.m_hDC, ptOld.x, ptOld.y, NULL);
}

HWND CExtButton::FindMenuReceiver(UINT& nAlign, UINT& nDock, bool& bOnBar)
{
    nAlign = (UINT)m_nMenuAlign;
    nDock = 0;
    HWND hWndRecv = ::GetParent(m_hWnd);
    // On a docked bar the menu opens away from the dock side; the command receiver is the
    // first window up the chain that is no bar (the owning frame for a floating bar).
    CWnd* pWalk = hWndRecv != NULL ? CWnd::FromHandlePermanent(hWndRecv) : NULL;
    bOnBar = pWalk != NULL && pWalk->IsKindOf(RUNTIME_CLASS(CControlBar));
    while (pWalk != NULL && pWalk->IsKindOf(RUNTIME_CLASS(CControlBar)))
    {
        CControlBar* pBar = (CControlBar*)pWalk;
        if (nDock == 0 && pBar->m_pDockBar != NULL && pBar->m_pDockBar->GetSafeHwnd() != NULL)
        {
            nAlign &= ~0x0Fu;
            switch (pBar->m_pDockBar->GetDlgCtrlID())
            {
            case AFX_IDW_DOCKBAR_TOP: case AFX_IDW_DOCKBAR_FLOAT: nDock = 4; break;
            case AFX_IDW_DOCKBAR_LEFT: nDock = 1; break;
            case AFX_IDW_DOCKBAR_RIGHT: nDock = 3; break;
            case AFX_IDW_DOCKBAR_BOTTOM: nDock = 6; break;
            }
        }
        HWND hWndUp = ::GetParent(pWalk->m_hWnd);
        CWnd* pUp = hWndUp != NULL ? CWnd::FromHandlePermanent(hWndUp) : NULL;
        if (pUp != NULL && pUp->IsKindOf(RUNTIME_CLASS(CMiniFrameWnd)))
        {
            CFrameWnd* pFrame = pUp->GetParentFrame();
            hWndRecv = pFrame != NULL ? pFrame->m_hWnd : ::GetParent(hWndUp);
            break;
        }
        hWndRecv = hWndUp;
        pWalk = pUp;
    }
    return hWndRecv;
}

bool CExtButton::OnTrackPopup(bool bFromKeyboard)
{
    if (!HasMenu() || !IsAlive())
        return false;
    g_CommandManager->UpdateFromMenu(g_CommandManager->ProfileNameFromWnd(m_hWnd), m_menu.m_hMenu, false,
                                 true, true);
    CExtPopupMenuWnd* pPopup = new CExtPopupMenuWnd;
    pPopup->SetLeftAreaWidth(m_nMenuLeftAreaWidth);
    UINT nAlign = 0, nDock = 0;
    bool bOnBar = false;
    const HWND hWndRecv = FindMenuReceiver(nAlign, nDock, bOnBar);
    if (!pPopup->LoadMenu(hWndRecv, &m_menu, true, true, false))
    {
        delete pPopup;
        return true;
    }
    CRect rcBtn;
    ::GetWindowRect(m_hWnd, &rcBtn);
    int x = (rcBtn.left + rcBtn.right) / 2, y = (rcBtn.top + rcBtn.bottom) / 2;
    ::SetFocus(m_hWnd);
    if (!IsAlive())
    {
        delete pPopup;
        return true;
    }
    UINT nFlags = nAlign | nDock | 0x20 | (bFromKeyboard ? 0x40 : 0);
    if ((m_nState & STATE_TAKE_COMMAND) == 0)
    {
        if (!pPopup->TrackPopupMenu(nFlags, x, y, &rcBtn, this, stat_PaintCombinedContent, NULL, true))
            delete pPopup;
        return true;
    }
    nFlags |= 0x80 | 0x200;
    UINT nResult = 0;
    if (!pPopup->TrackPopupMenu(nFlags, x, y, &rcBtn, this, stat_PaintCombinedContent, &nResult, true))
    {
        delete pPopup;
        return true;
    }
    if (!IsAlive() || nResult == 0)
        return true;
    ::SetWindowLong(m_hWnd, GWL_ID, (LONG)nResult);
    if ((m_nOptions & 0x01) != 0)
    {
        LPCTSTR sProfile = g_CommandManager->ProfileNameFromWnd(m_hWnd);
        CExtCmdItem* pCmd = g_CommandManager->CmdGetPtr(sProfile, nResult);
        if (pCmd != NULL)
        {
            CString sText = pCmd->m_sToolbarText;
            if (sText.IsEmpty())
                sText = pCmd->m_sMenuText;
            SetWindowText(sText);
            CExtCmdIcon* pIcon = g_CommandManager->CmdGetIconPtr(sProfile, nResult);
            if (pIcon != NULL && !pIcon->IsEmpty())
                SetIcon(pIcon->ExtractHICON(true, COLORREF(-1L)));
            else
                m_icon.Empty();
        }
    }
    HWND hWndParent = ::GetParent(m_hWnd);
    if (hWndParent != NULL)
        ::SendMessage(hWndParent, WM_COMMAND, (WPARAM)nResult, (LPARAM)m_hWnd);
    Refresh();
    return true;
}

bool CExtButton::PutToPopupMenu(CExtPopupMenuWnd* pPopup)
{
    if (!HasMenu() || pPopup == NULL)
        return false;
    CExtPopupMenuWnd* pSub = new CExtPopupMenuWnd;
    HWND hWndRecv = pPopup->GetCmdReceiverHWND();
    if (!pSub->CreatePopupMenu(hWndRecv) || !pSub->LoadMenu(hWndRecv, &m_menu, true, true, false))
    {
        delete pSub;
        return false;
    }
    CString sText;
    CExtCmdItem* pCmd = g_CommandManager->CmdGetPtr(g_CommandManager->ProfileNameFromWnd(m_hWnd),
                                                (UINT)::GetDlgCtrlID(m_hWnd));
    if (pCmd != NULL)
        sText = pCmd->m_sMenuText;
    if (sText.IsEmpty())
        GetWindowText(sText);
    pPopup->ItemInsertSubMenu(pSub, -1, sText, m_icon);
    return true;
}

// ---- painting --------------------------------------------------------------------------

int CExtButton::GetButtonText(CString& sText)
{
    sText.Empty();
    if (IsAlive())
        GetWindowText(sText);
    return sText.GetLength();
}

HFONT CExtButton::OnQueryFont()
{
    return QueryControlFont(IsAlive() ? m_hWnd : NULL);
}

void CExtButton::RenderButton(CDC& dc, bool bTransparentBackground, bool bRespectRtl)
{
    CExtPaintManager* pPM = GetPaintManager();
    if (pPM == NULL || !IsAlive())
        return;
    CRect rc;
    ::GetClientRect(m_hWnd, &rc);
    CString sText;
    GetButtonText(sText);
    DWORD dwStyle = (DWORD)::GetWindowLong(m_hWnd, GWL_STYLE);
    bool bFocus = ::GetFocus() == m_hWnd && (m_nState & STATE_FOCUS_RECT) != 0;
    bool bDefault = m_nButtonType == BS_DEFPUSHBUTTON;
    bool bPushed = (m_nState & STATE_PUSHED) != 0;
    bool bEnabled = IsButtonEnabled();
    bool bFlat = (dwStyle & BS_FLAT) != 0;
    bool bHover = (m_nState & STATE_HOVER) != 0 && !CExtPopupMenuWnd::IsMenuTracking();
    bool bOn = false;
    if (IsCheckType())
    {
        bOn = ::SendMessage(m_hWnd, BM_GETCHECK, 0, 0) != 0;
        if ((dwStyle & BS_PUSHLIKE) == 0)
        {
            bFocus = false;
            bFlat = true;
        }
        if (bOn)
            bPushed = true;
    }
    HWND hWndParent = ::GetParent(m_hWnd);
    CWnd* pParent = hWndParent != NULL ? CWnd::FromHandlePermanent(hWndParent) : NULL;
    if (pParent != NULL && pParent->IsKindOf(RUNTIME_CLASS(CControlBar)))
    {
        bFocus = false;
        bFlat = true;
    }
    if (!bTransparentBackground)
    {
        COLORREF clrFace = m_clrBackground != COLORREF(-1L) ? m_clrBackground : pPM->LookupColor(1000, this);
        if (!bHover && !bPushed && pPM->UsesParentBackground(this))
        {
            if (m_clrBackground != COLORREF(-1L))
                dc.FillSolidRect(&rc, m_clrBackground);
            else
            {
                CExtPaintManager::ClipOutChildren(&dc, m_hWnd);
                if (pPM->DrawWindowBackground(true, dc, this))
                    bTransparentBackground = true;
                else
                    dc.FillSolidRect(&rc, clrFace);
            }
        }
        else
            dc.FillSolidRect(&rc, clrFace);
    }
    HFONT hFontQueried = OnQueryFont();
    LOGFONT lf;
    ::memset(&lf, 0, sizeof(lf));
    ::GetObject(hFontQueried, sizeof(lf), &lf);
    if (bDefault && lf.lfWeight <= FW_BOLD)
        lf.lfWeight = FW_BOLD;
    HFONT hFont = ::CreateFontIndirect(&lf);

    CExtPaintManager::PAINTBUTTONDATA _ppbd(this, true, rc, sText, &m_icon, bFlat, bHover, bPushed,
                                            false, bEnabled, (m_nState & STATE_DRAW_BORDER) != 0,
                                            bFocus, bDefault, m_nContentAlign, hFont, HasMenu(), 0,
                                            bTransparentBackground);
    _ppbd.m_bSeparatedDropDown = (m_nState & STATE_SPLIT) != 0;
    if (_ppbd.m_bSeparatedDropDown && m_nPressedPart == PART_DROPDOWN && _ppbd.m_bPushed)
    {
        _ppbd.m_bPushed = false;
        _ppbd.m_bPushedDropDown = true;
    }
    _ppbd.m_lParam = 0;
    _ppbd.m_clrForceTextDisabled = m_clrText1;
    _ppbd.m_clrForceTextNormal = m_clrText2;
    _ppbd.m_clrForceTextHover = m_clrText3;
    _ppbd.m_clrForceTextPressed = m_clrText4;
    _ppbd.m_clrForceBk = m_clrBackground;
    if (bRespectRtl && (::GetWindowLong(m_hWnd, GWL_EXSTYLE) & WS_EX_LAYOUTRTL) != 0)
        _ppbd.m_bForceRtlLayout = true;
    if ((dwStyle & BS_MULTILINE) != 0)
        _ppbd.m_bWordBreak = true;
    (void)bOn;
    pPM->DrawPushButton(dc, _ppbd);
    if (hFont != NULL)
        ::DeleteObject(hFont);
}

void CExtButton::PaintBuffered(CDC& dc, bool bTransparentBackground, bool bRespectRtl)
{
    CRect rc;
    ::GetClientRect(m_hWnd, &rc);
    CExtMemoryDC dcMem(&dc, &rc, CExtMemoryDC::MDCOPT_TO_MEMORY | CExtMemoryDC::MDCOPT_FILL_SURFACE);
    RenderButton(dcMem, bTransparentBackground, bRespectRtl);
}

void CExtButton::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct)
{
    if (lpDrawItemStruct == NULL)
        return;
    CDC* pDC = CDC::FromHandle(lpDrawItemStruct->hDC);
    PaintBuffered(*pDC, false, false);
}

// ---- messages --------------------------------------------------------------------------

LRESULT CExtButton::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT lResult = 0;
    if (RelayMenuMessage(message, wParam, lParam, lResult) || HandleMouseMessage(message, wParam, lParam, lResult) ||
        HandleEnvironmentMessage(message, wParam, lParam, lResult) ||
        HandlePaintMessage(message, wParam, lParam, lResult) || HandleStateMessage(message, wParam, lParam, lResult))
        return lResult;
    return CButton::WindowProc(message, wParam, lParam);
}

bool CExtButton::RelayMenuMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& lResult)
{
    // The button's menu talks to the button; its owner answers for it.
    if (message == CExtPopupMenuWnd::g_nMsgPrepareMenu || message == CExtPopupMenuWnd::g_nMsgPopupNext ||
        message == CExtPopupMenuWnd::g_nMsgPopupPrev || message == CExtPopupMenuWnd::g_nMsgNotifyMenuExpanded ||
        message == CExtPopupMenuWnd::g_nMsgNotifyMenuClosed || message == CExtPopupMenuWnd::g_nMsgPopupDrawItem ||
        message == CExtPopupMenuWnd::g_nMsgPopupDrawLeftArea)
    {
        HWND hWndParent = ::GetParent(m_hWnd);
        lResult = hWndParent != NULL ? ::SendMessage(hWndParent, message, wParam, lParam) : 0;
        return true;
    }
    if (message == g_nMsgPutToPopupMenuBtn)
    {
        lResult = PutToPopupMenu((CExtPopupMenuWnd*)wParam) ? 1 : 0;
        return true;
    }
    if (message == g_nMsgContinueTrackMenuBtn)
    {
        OnTrackPopup(lParam != 0);
        lResult = 1;
        return true;
    }
    return false;
}

bool CExtButton::HandleMouseMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& lResult)
{
    // While the keyboard holds the button down the mouse is ignored.
    const bool bKeyHeld = (m_nState & STATE_KEY_PRESS) != 0;
    switch (message)
    {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        lResult = 0;
        if (bKeyHeld)
            return true;
        CButton::WindowProc(message, wParam, lParam);
        if (IsAlive())
            OnButtonDown(wParam, lParam, message == WM_LBUTTONDOWN);
        return true;
    case WM_LBUTTONUP:
        lResult = 0;
        if (!bKeyHeld)
            OnButtonUp(wParam, lParam);
        return true;
    case WM_MOUSEMOVE:
        lResult = 0;
        if (bKeyHeld)
            return true;
        CButton::WindowProc(message, wParam, lParam);
        if (IsAlive())
            OnButtonMove(wParam, lParam);
        return true;
    case WM_CANCELMODE:
        CButton::WindowProc(message, wParam, lParam);
        if (IsAlive())
            OnCancelModeNow();
        lResult = 0;
        return true;
    case WM_CAPTURECHANGED:
    case WM_KILLFOCUS:
    case WM_ACTIVATEAPP:
    {
        // Losing the capture, the focus or the application ends a press in progress.
        lResult = CButton::WindowProc(message, wParam, lParam);
        const bool bEndPress =
            message == WM_CAPTURECHANGED ? ::GetCapture() != m_hWnd : (message == WM_KILLFOCUS || !wParam);
        if (IsAlive() && bEndPress)
            ::SendMessage(m_hWnd, WM_CANCELMODE, 0, 0);
        return true;
    }
    case WM_SETCURSOR:
        if (m_hCursor == NULL)
            return false;
        ::SetCursor(m_hCursor);
        lResult = TRUE;
        return true;
    default:
        return false;
    }
}

bool CExtButton::HandleEnvironmentMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& lResult)
{
    // The system's settings changed: the paint manager and the icon follow after the
    // button has seen the message.
    switch (message)
    {
    case WM_DISPLAYCHANGE:
    {
        lResult = CButton::WindowProc(message, wParam, lParam);
        const int cxScreen = (int)(short)LOWORD(lParam), cyScreen = (int)(short)HIWORD(lParam);
        g_CurrentPaintManager.OnDisplayChange(this, (int)wParam, cxScreen, cyScreen);
        m_icon.OnDisplayChange(GetPaintManager(), (INT)wParam, CPoint(cxScreen, cyScreen));
        return true;
    }
    case WM_THEMECHANGED:
        lResult = CButton::WindowProc(message, wParam, lParam);
        g_CurrentPaintManager.OnThemeChanged(this, wParam, lParam);
        m_icon.OnThemeChanged(GetPaintManager(), wParam, lParam);
        return true;
    case WM_SYSCOLORCHANGE:
        lResult = CButton::WindowProc(message, wParam, lParam);
        g_CurrentPaintManager.OnSysColorChange(this);
        m_icon.OnSysColorChange(GetPaintManager());
        return true;
    case WM_SETTINGCHANGE:
        lResult = CButton::WindowProc(message, wParam, lParam);
        g_CurrentPaintManager.OnSettingChange(this, (UINT)wParam, (LPCTSTR)lParam);
        m_icon.OnSettingChange(GetPaintManager(), (UINT)wParam, (LPCTSTR)lParam);
        return true;
    default:
        return false;
    }
}

bool CExtButton::HandlePaintMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& lResult)
{
    switch (message)
    {
    case WM_NOTIFY:
    {
        // The button's own tip shows above everything.
        NMHDR* pNMHDR = (NMHDR*)lParam;
        if (pNMHDR != NULL && pNMHDR->code == TTN_SHOW && GetSharedTipWnd() == NULL && m_wndToolTip.m_hWnd != NULL &&
            pNMHDR->hwndFrom == m_wndToolTip.m_hWnd)
            ::SetWindowPos(m_wndToolTip.m_hWnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        return false;
    }
    case WM_ERASEBKGND:
        lResult = TRUE;
        return true;
    case WM_PRINTCLIENT:
        PaintBuffered(*CDC::FromHandle((HDC)wParam), false, false);
        lResult = 0;
        return true;
    case WM_PAINT:
    {
        // The button paints itself in every type: the owner-draw round trip through the
        // parent would depend on the parent reflecting WM_DRAWITEM.
        PAINTSTRUCT ps;
        HDC hdcPaint = ::BeginPaint(m_hWnd, &ps);
        if (hdcPaint != NULL)
            PaintBuffered(*CDC::FromHandle(hdcPaint), false, false);
        ::EndPaint(m_hWnd, &ps);
        lResult = 0;
        return true;
    }
    case WM_ENABLE:
        lResult = CButton::WindowProc(message, wParam, lParam);
        if (IsAlive())
        {
            HDC hdcWindow = ::GetDC(m_hWnd);
            if (hdcWindow != NULL)
            {
                PaintBuffered(*CDC::FromHandle(hdcWindow), false, false);
                ::ReleaseDC(m_hWnd, hdcWindow);
            }
        }
        return true;
    case WM_UPDATEUISTATE:
        lResult = 0;
        return true;
    default:
        return false;
    }
}

bool CExtButton::HandleStateMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& lResult)
{
    switch (message)
    {
    case BM_GETCHECK:
        lResult = m_nCheck;
        return true;
    case BM_SETCHECK:
        m_nCheck = (int)wParam;
        Refresh();
        lResult = 0;
        return true;
    case BM_SETSTYLE:
        m_nButtonType = (int)(wParam & 0x0F);
        Refresh();
        lResult = 0;
        return true;
    case WM_SETTEXT:
    case WM_SIZE:
    case WM_WINDOWPOSCHANGED:
    case BM_SETSTATE:
    case BM_CLICK:
    case BM_SETIMAGE:
        // The system changes what the button shows; it is repainted in the theme.
        lResult = CButton::WindowProc(message, wParam, lParam);
        Refresh();
        return true;
    default:
        return false;
    }
}

LRESULT CExtButton::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    return CButton::DefWindowProc(message, wParam, lParam);
}
