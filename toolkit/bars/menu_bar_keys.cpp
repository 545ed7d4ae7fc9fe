// The menu bar's keyboard filter and its hooks on the host window, the MDI client and the
// active MDI child: Alt and F10 enter keyboard selection mode, Alt+letter opens a menu by
// its mnemonic, the arrows move between menus and system menus, and the host's menu,
// size, activation and command messages keep the bar in step.
#include "toolkit/bars/menu_bar.h"
#include "toolkit/bars/bar_mdi_buttons.h"
#include "toolkit/core/cmd_manager.h"
#include "toolkit/menus/popup_menu_wnd.h"
#include "toolkit/menus/popup_tracking_site.h"

namespace {

bool IsKeyDown(int nVirtKey) { return (::GetKeyState(nVirtKey) & 0x8000) != 0; }

bool IsNumpadKey(UINT nKey)
{
    if (nKey >= VK_NUMPAD0 && nKey <= VK_NUMPAD9)
        return true;
    switch (nKey)
    {
    case VK_INSERT:
    case VK_NEXT:
    case VK_DOWN:
    case VK_LEFT:
    case VK_CLEAR:
    case VK_RIGHT:
    case VK_HOME:
    case VK_UP:
    case VK_PRIOR:
        return true;
    default:
        return false;
    }
}

// The window that has the focus is sent WM_CANCELMODE unless a popup menu tracks.
void CancelFocusMode()
{
    HWND hWndFocus = ::GetFocus();
    if (hWndFocus != NULL && !CExtPopupMenuWnd::IsMenuTracking())
        ::SendMessage(hWndFocus, WM_CANCELMODE, 0, 0);
}

bool IsDescendantOrSelf(HWND hWndAncestor, HWND hWnd)
{
    for (; hWnd != NULL; hWnd = ::GetParent(hWnd))
        if (hWnd == hWndAncestor)
            return true;
    return false;
}

// A host message after which no menu of the bar may stay open: the host moved or hid,
// lost the activation to another window, or is being destroyed.
bool IsHostLeavingMenus(HWND hWndHost, UINT nMessage, WPARAM wParam, LPARAM lParam)
{
    switch (nMessage)
    {
    case WM_WINDOWPOSCHANGED:
    {
        const WINDOWPOS* pWP = (const WINDOWPOS*)lParam;
        return pWP != NULL && ((pWP->flags & SWP_NOMOVE) == 0 || (pWP->flags & SWP_HIDEWINDOW) != 0);
    }
    case WM_ACTIVATE:
    {
        // The menus' own windows and the host's floating frames may take the
        // activation without ending the menus.
        if (LOWORD(wParam) != WA_INACTIVE)
            return false;
        const HWND hWndOther = (HWND)lParam;
        if (hWndOther != NULL && ::GetWindow(hWndOther, GW_OWNER) == hWndHost)
            return false;
        CWnd* pWndOther = CWnd::FromHandlePermanent(hWndOther);
        return pWndOther == NULL || !pWndOther->IsKindOf(RUNTIME_CLASS(CExtPopupBaseWnd));
    }
    case WM_DESTROY:
        return true;
    default:
        return false;
    }
}

// The messages the frame keyboard filter acts on.
bool IsFilteredMessage(UINT nMsg)
{
    return (nMsg >= WM_KEYFIRST && nMsg <= 0x108) || nMsg == WM_COMMAND || nMsg == WM_CONTEXTMENU ||
           (nMsg >= WM_LBUTTONDOWN && nMsg <= WM_MOUSEWHEEL) || (nMsg >= WM_MDICREATE && nMsg <= WM_MDIREFRESHMENU);
}

}  // namespace

BOOL CExtMenuControlBar::PreTranslateMessage(MSG* pMsg)
{
    if (IsInDialog() && pMsg != NULL && FrameKeyboardFilter(pMsg))
        return TRUE;
    return CExtToolControlBar::PreTranslateMessage(pMsg);
}

// ---- the keyboard filter ----------------------------------------------------------------

bool CExtMenuControlBar::FilterHookedKey(LRESULT& lResult, HWND hWndHooked, UINT nMessage, WPARAM wParam, LPARAM lParam)
{
    MSG msg = {hWndHooked, nMessage, wParam, lParam, 0, {0, 0}};
    if (!FrameKeyboardFilter(&msg))
        return false;
    lResult = 0;
    return true;
}

bool CExtMenuControlBar::FrameKeyboardFilter(MSG* pMsg)
{
    if (m_hWnd == NULL || !::IsWindow(m_hWnd) || pMsg == NULL)
        return false;
    const UINT nMsg = pMsg->message;
    if (nMsg == WM_QUERYOPEN)
    {
        if (m_pDockSite != NULL)
            PostUpdateMenuBar();
        return false;
    }
    CFrameWnd* pFrame = DockingFrame();
    if (!IsInDialog() && (pFrame == NULL || pFrame->GetSafeHwnd() == NULL || !pFrame->IsWindowEnabled()))
        return false;
    if (nMsg == WM_ACTIVATE || nMsg == WM_ACTIVATEAPP || nMsg == WM_SETFOCUS || nMsg == WM_KILLFOCUS)
    {
        g_bIgnoreAltRelease = true;
        return false;
    }
    // The filter acts on keys, commands, context menus, mouse buttons and MDI requests
    // only. Any other message leaves before the customize-mode question: that question
    // sends a message to the host, which comes back through this filter, so asking it
    // for every message nested dozens of sends into each one the host received.
    if (!IsFilteredMessage(nMsg))
        return false;
    const bool bCustomize = IsCustomizeModeActive();
    if (bCustomize && nMsg >= WM_KEYFIRST && nMsg <= 0x108 && !CExtPopupMenuWnd::IsMenuTracking())
        return true;
    if (IsMdiMode() && (bCustomize || IsBarOleInPlaceActive()))
    {
        if (nMsg == WM_COMMAND)
        {
            const UINT nID = LOWORD(pMsg->wParam);
            if ((nID >= 0xE130 && nID <= 0xE135) || nID == 0xE150 || nID == 0xE151)
                return true;
        }
        if (nMsg == WM_MDIACTIVATE || nMsg == WM_MDINEXT || nMsg == WM_MDIRESTORE || nMsg == WM_MDIMAXIMIZE ||
            nMsg == WM_MDITILE || nMsg == WM_MDICASCADE || nMsg == WM_MDIICONARRANGE)
            return true;
    }
    const bool bPreview = !IsInDialog() && !bCustomize && pFrame != NULL && IsPrintPreviewActive(pFrame);
    const bool bCombo = IsDropDownComboFocused();
    if (nMsg == WM_COMMAND && HIWORD(pMsg->wParam) == 0)
        g_bIgnoreAltRelease = (::GetAsyncKeyState(VK_MENU) & 0x8000) != 0;

    if (nMsg == WM_KEYDOWN || nMsg == WM_SYSKEYDOWN || nMsg == WM_KEYUP || nMsg == WM_SYSKEYUP)
    {
        const UINT nKey = UINT(pMsg->wParam & 0xFF);
        const bool bAlt = (HIWORD(pMsg->lParam) & KF_ALTDOWN) != 0;
        const bool bKeyUp = (nMsg == WM_KEYUP || nMsg == WM_SYSKEYUP);
        if (bAlt && IsNumpadKey(nKey))
        {
            g_bAltNumpadSequence = true;
            g_bIgnoreAltRelease = false;
            return false;
        }
        if (g_bAltNumpadSequence)
        {
            g_bAltNumpadSequence = false;
            return false;
        }
        if ((nKey == VK_MENU || nKey == VK_F10) && !IsKeyDown(VK_CONTROL) && !IsKeyDown(VK_SHIFT))
        {
            if (bCustomize)
                return true;
            if (bPreview || bCombo)
                return false;
            if (nKey == VK_F10)
            {
                // F10 alone works as Alt does, as the window menu it replaces would.
                if (!bKeyUp)
                    return true;
                g_bIgnoreAltRelease = false;
            }
            return FilterAltKey(bKeyUp, bCustomize, false);
        }
        if (!IsInDialog() && FilterSystemKeys(pMsg, nKey, bKeyUp, bCustomize))
            return true;
        if (bPreview || bCombo)
            return false;
        const bool bNavigation = nKey == VK_LEFT || nKey == VK_RIGHT || nKey == VK_UP || nKey == VK_DOWN ||
                                 nKey == VK_RETURN || nKey == VK_ESCAPE;
        if (!IsFlatTracking())
        {
            if (!bAlt)
                return false;
            return FilterMnemonic(nKey, bKeyUp);
        }
        if (bNavigation)
            return FilterNavigation(nKey, bKeyUp);
        return FilterMnemonic(nKey, bKeyUp);
    }
    if (nMsg == WM_CONTEXTMENU && (g_bButtonMenuTracking || IsFlatTracking() || bCustomize))
        return true;
    if (IsFlatTracking() && !bCustomize && nMsg >= WM_LBUTTONDOWN && nMsg <= WM_MOUSEWHEEL)
        EndFlatTracking(true);
    return false;
}

bool CExtMenuControlBar::FilterAltKey(bool bKeyUp, bool, bool)
{
    if (IsFlatTracking())
    {
        if (bKeyUp)
            EndFlatTracking(true);
        return true;
    }
    if (!bKeyUp)
    {
        g_bIgnoreAltRelease = false;
        return false;
    }
    if (g_bIgnoreAltRelease)
        return false;
    if (g_bButtonMenuTracking)
        return true;
    if (GetButtonsCount() == 0)
        return true;
    CancelFocusMode();
    g_bMenuTrackingExpanded = false;
    CFrameWnd* pFrame = DockingFrame();
    if (pFrame != NULL)
    {
        HWND hWndFrame = pFrame->m_hWnd, hWndTop = ::GetAncestor(hWndFrame, GA_ROOT);
        HWND hWndFore = ::GetForegroundWindow();
        if (hWndFore != hWndFrame && hWndFore != hWndTop && !IsDescendantOrSelf(hWndFrame, hWndFore) &&
            !IsDescendantOrSelf(hWndTop, hWndFore))
            return true;
    }
    TrackButtonMenu(0);
    return true;
}

bool CExtMenuControlBar::FilterSystemKeys(const MSG* pMsg, UINT nKey, bool bKeyUp, bool bCustomize)
{
    const bool bAlt = (HIWORD(pMsg->lParam) & KF_ALTDOWN) != 0;
    if (!bAlt || !(nKey == VK_SPACE || (IsMdiMode() && (nKey == VK_SUBTRACT || nKey == VK_OEM_MINUS))))
        return false;
    if (bCustomize || bKeyUp)
        return true;
    HWND hWndActive = ::GetActiveWindow();
    if (hWndActive == NULL || !::IsWindow(hWndActive))
        return false;
    CFrameWnd* pFrame = DockingFrame();
    if ((pFrame == NULL || hWndActive != pFrame->m_hWnd) && (::GetWindowLong(hWndActive, GWL_STYLE) & WS_POPUP) != 0)
        return true;
    g_bMenuTrackingExpanded = false;
    EndFlatTracking(true);
    if (nKey == VK_SPACE)
        return TrackFrameSystemMenu(NULL, true);
    if (pMsg->message != WM_SYSKEYDOWN)
        return true;
    if (GetActiveMdiChild(NULL) == NULL)
    {
        g_bIgnoreAltRelease = true;
        return true;
    }
    CExtBarButton* pFirst = GetButton(0);
    if (pFirst != NULL && pFirst->IsKindOf(RUNTIME_CLASS(CExtBarMdiDocButton)) &&
        !pFirst->IsKindOf(RUNTIME_CLASS(CExtBarMdiRightButton)))
    {
        CancelFocusMode();
        CExtToolControlBar::TrackButtonMenu(0, FALSE, FALSE, FALSE);
        return true;
    }
    return TrackMdiChildSystemMenu(NULL, true);
}

bool CExtMenuControlBar::FilterMnemonic(UINT nKey, bool bKeyUp)
{
    if (IsCustomizeModeActive())
        return false;
    if (bKeyUp)
        return true;
    BYTE keyState[256];
    if (!::GetKeyboardState(keyState))
        memset(keyState, 0, sizeof(keyState));
    WORD wChars[2] = {0, 0};
    HKL hKL = ::GetKeyboardLayout(::GetWindowThreadProcessId(m_hWnd, NULL));
    const int nChars = ::ToAsciiEx(nKey, ::MapVirtualKey(nKey, 0), keyState, wChars, 1, hKL);
    if (nChars != 1 || LOBYTE(wChars[0]) == 0)
    {
        g_bIgnoreAltRelease = true;
        return IsFlatTracking();
    }
    char szChar[2] = {(char)LOBYTE(wChars[0]), 0};
    ::CharUpperA(szChar);
    const TCHAR chUpper = (TCHAR)szChar[0];

    CExtToolControlBar* pBarFound = NULL;
    int nIndex = GetButtonByAccessKey(chUpper);
    if (nIndex >= 0)
        pBarFound = this;
    else
    {
        CWnd* pParent = GetParent();
        CFrameWnd* pFrame = DockingFrame();
        if (pFrame != NULL || (pParent != NULL && pParent->IsKindOf(RUNTIME_CLASS(CFrameWnd))))
        {
            if (pFrame == NULL)
                pFrame = static_cast<CFrameWnd*>(pParent);
            CArray<CExtControlBar*, CExtControlBar*> arrBars;
            GetFrameControlBars(NULL, pFrame, arrBars, 0xFFF);
            for (INT_PTR i = 0; i < arrBars.GetSize() && pBarFound == NULL; i++)
            {
                CExtToolControlBar* pBar = DYNAMIC_DOWNCAST(CExtToolControlBar, arrBars[i]);
                if (pBar == NULL || pBar == this || pBar->GetSafeHwnd() == NULL)
                    continue;
                nIndex = pBar->GetButtonByAccessKey(chUpper);
                if (nIndex >= 0)
                    pBarFound = pBar;
            }
        }
        else if (pParent != NULL)
        {
            for (HWND hWnd = ::GetWindow(pParent->m_hWnd, GW_CHILD); hWnd != NULL && pBarFound == NULL;
                 hWnd = ::GetWindow(hWnd, GW_HWNDNEXT))
            {
                CExtToolControlBar* pBar = DYNAMIC_DOWNCAST(CExtToolControlBar, CWnd::FromHandlePermanent(hWnd));
                if (pBar == NULL || pBar == this || !pBar->IsVisible())
                    continue;
                nIndex = pBar->GetButtonByAccessKey(chUpper);
                if (nIndex >= 0)
                    pBarFound = pBar;
            }
        }
    }
    if (pBarFound == NULL)
    {
        g_bIgnoreAltRelease = true;
        return false;
    }
    CancelFocusMode();
    EndFlatTracking(true);
    CExtBarButton* pTBB = pBarFound->GetButton(nIndex);
    if (pTBB != NULL && pTBB->HasPopup())
    {
        g_bMenuTrackingExpanded = false;
        pBarFound->CExtToolControlBar::TrackButtonMenu(nIndex, TRUE, FALSE,
                                                       (m_nMenuBarOptions & __EMBO_KEYBOARD_MENUS) != 0);
    }
    else if (pTBB != NULL)
    {
        g_bIgnoreAltRelease = (::GetAsyncKeyState(VK_MENU) & 0x8000) != 0;
        pTBB->OnDeliverCmd();
    }
    return true;
}

int CExtMenuControlBar::FindSelectableButton(int nFrom, bool bForward) const
{
    const int nCount = GetButtonsCount();
    if (nCount <= 0)
        return -1;
    int nNext = GetNextNavigableButton(nFrom, bForward ? TRUE : FALSE, FALSE);
    if (nNext < 0)
        nNext = nCount - 1;
    else if (nNext >= nCount)
        nNext = 0;
    return nNext;
}

bool CExtMenuControlBar::FilterNavigation(UINT nKey, bool bKeyUp)
{
    if (IsCustomizeModeActive())
        return false;
    if (bKeyUp)
        return true;
    switch (nKey)
    {
    case VK_LEFT:
    case VK_RIGHT:
        m_nFlatTrackingIndex = FindSelectableButton(m_nFlatTrackingIndex, nKey == VK_RIGHT);
        UpdateFlatTracking(true);
        return true;
    case VK_RETURN:
    case VK_UP:
    case VK_DOWN:
    {
        CExtBarButton* pTBB = GetButton(m_nFlatTrackingIndex);
        if (!CExtPopupMenuWnd::IsMenuTracking() && pTBB != NULL)
        {
            if (pTBB->HasPopup())
                OpenButtonMenuAt(m_nFlatTrackingIndex);
            else if (nKey == VK_RETURN)
            {
                LPCTSTR sProfile = g_CommandManager->ProfileNameFromWnd(m_hWnd);
                if (sProfile != NULL && g_CommandManager->CmdGetPtr(sProfile, pTBB->GetCmdID(false)) != NULL)
                    pTBB->OnClick(CPoint(0, 0), false);
            }
        }
        return true;
    }
    case VK_ESCAPE:
        EndFlatTracking(true);
        return true;
    default:
        UpdateFlatTracking(true);
        return true;
    }
}

// ---- moving between menus ---------------------------------------------------------------

bool CExtMenuControlBar::MoveBetweenMenus(bool bNext, bool bFromChild)
{
    const int nTracked = m_nBtnIdxMenuTracking;
    auto open = [this](int nFrom, int nIndex) {
        if (nIndex >= 0 && nIndex != nFrom)
            TrackButtonMenu(nIndex);
    };
    auto first = [this]() { return GetNextNavigableButton(-1, TRUE, TRUE); };
    auto last = [this]() { return GetNextNavigableButton(GetButtonsCount(), FALSE, TRUE); };
    if (IsInDialog())
    {
        if (nTracked >= 0)
            open(nTracked, GetNextNavigableButton(nTracked, bNext ? TRUE : FALSE, TRUE));
        return true;
    }
    CFrameWnd* pFrame = DockingFrame();
    if (pFrame != NULL && IsPrintPreviewActive(pFrame))
        return true;
    const bool bFrameSysMenuOption = (m_nMenuBarOptions & __EMBO_FRAME_SYSMENU) != 0;
    const bool bChildSysMenuOption = (m_nMenuBarOptions & __EMBO_CHILD_SYSMENU) != 0;
    if (bFromChild)
    {
        if (!bNext)
        {
            if (TrackFrameSystemMenu(NULL, true))
                return true;
            if (bFrameSysMenuOption)
                return false;
            open(-1, last());
            return true;
        }
        open(-1, first());
        return true;
    }
    if (nTracked < 0)
    {
        if ((m_nMenuBarState & __EMBS_SYSMENU_TRACKING) == 0)
            return true;
        if (bNext)
        {
            if (IsMdiMode() && GetActiveMdiChild(NULL) != NULL && IsMdiButtonsEnabled())
            {
                if (TrackMdiChildSystemMenu(NULL, true))
                    return true;
                if (bChildSysMenuOption)
                    return false;
            }
            open(-1, first());
        }
        else
            open(-1, last());
        return true;
    }
    if (bNext && nTracked == last())
    {
        if (!IsCustomizeModeActive() && TrackFrameSystemMenu(NULL, true))
            return true;
        if (bFrameSysMenuOption)
            return false;
        open(nTracked, first());
        return true;
    }
    if (!bNext && nTracked == first() && IsMdiButtonsEnabled())
    {
        bool bShown = false;
        if (IsMdiMode() && GetActiveMdiChild(NULL) != NULL)
            bShown = TrackMdiChildSystemMenu(NULL, true);
        else
            bShown = TrackFrameSystemMenu(NULL, true);
        if (bShown)
            return true;
        if (bFrameSysMenuOption)
            return false;
        open(nTracked, last());
        return true;
    }
    open(nTracked, GetNextNavigableButton(nTracked, bNext ? TRUE : FALSE, TRUE));
    return true;
}

// ---- the hooks ------------------------------------------------------------------------

bool CExtMenuControlBar::OnHookWndMsg(LRESULT& lResult, HWND hWndHooked, UINT nMessage, WPARAM& wParam,
                                      LPARAM& lParam)
{
    if (m_hWnd == NULL || !::IsWindow(m_hWnd) || CWnd::FromHandlePermanent(m_hWnd) != this ||
        GetDraggedBar() != NULL)
        return false;
    if (IsInDialog() && hWndHooked != m_hWndHooked)
        return false;
    // Whichever window the hook serves, a child's notice to its parent is swallowed
    // while a menu tracks.
    if (nMessage == WM_PARENTNOTIFY && CExtPopupMenuWnd::IsMenuTracking())
    {
        lResult = 0;
        return true;
    }
    if (IsInDialog())
        return HookHostMsg(lResult, hWndHooked, nMessage, wParam, lParam);
    HWND hWndClient = FindMdiClient();
    if (hWndClient != NULL && hWndHooked == hWndClient)
        return HookMdiClientMsg(lResult, hWndHooked, nMessage, wParam, lParam);
    if (m_hWndHooked != NULL && hWndHooked == m_hWndHooked)
        return HookChildMsg(lResult, hWndHooked, nMessage, wParam, lParam);
    return HookHostMsg(lResult, hWndHooked, nMessage, wParam, lParam);
}

bool CExtMenuControlBar::HookHostMsg(LRESULT& lResult, HWND hWndHooked, UINT nMessage, WPARAM wParam,
                                     LPARAM lParam)
{
    const bool bInFrame = !IsInDialog();
    const bool bHostLeaving = IsHostLeavingMenus(hWndHooked, nMessage, wParam, lParam);
    if (bHostLeaving || nMessage == WM_SIZE || nMessage == WM_ACTIVATEAPP || nMessage == WM_SYSCOMMAND ||
        (nMessage == WM_COMMAND && HIWORD(wParam) <= 1))
    {
        ReleaseBarCapture(true);
        EndFlatTracking(true);
        if (g_bButtonMenuTracking)
            CancelAllButtonMenuTracking();
        // An open menu hangs from the host: it would stay where the host was, stay over
        // the window that took the activation, or outlive the host.
        if (bHostLeaving && CExtPopupMenuWnd::IsMenuTracking())
            CExtPopupMenuWnd::CancelMenuTracking();
    }
    if (bInFrame && (nMessage == WM_NCLBUTTONUP || nMessage == WM_NCRBUTTONUP || nMessage == WM_NCRBUTTONDOWN ||
                     nMessage == WM_NCLBUTTONDOWN))
    {
        const UINT nHit = UINT(wParam);
        const bool bOpen = (nMessage == WM_NCLBUTTONUP && nHit == HTSYSMENU) ||
                           (nMessage == WM_NCRBUTTONUP && (nHit == HTCAPTION || nHit == HTSYSMENU)) ||
                           (nMessage == WM_NCRBUTTONDOWN && nHit == HTCAPTION);
        if (bOpen)
        {
            g_bMenuTrackingExpanded = false;
            if (!IsCustomizeModeActive())
            {
                CPoint pt;
                ::GetCursorPos(&pt);
                if (TrackFrameSystemMenu(nMessage == WM_NCLBUTTONUP ? NULL : &pt, false))
                {
                    lResult = 0;
                    return true;
                }
            }
        }
        else if ((nMessage == WM_NCLBUTTONDOWN || nMessage == WM_NCRBUTTONDOWN) && nHit == HTSYSMENU)
        {
            CFrameWnd* pFrame = DockingFrame();
            if ((m_nMenuBarOptions & __EMBO_FRAME_SYSMENU) != 0 || pFrame == NULL || hWndHooked != pFrame->m_hWnd)
            {
                lResult = 0;
                return true;
            }
        }
    }
    if (nMessage == CExtPopupMenuWnd::g_nMsgNotifyMenuClosed)
    {
        ClearTitleHighlights();
        if (bInFrame)
            m_nMenuBarState &= ~__EMBS_SYSMENU_TRACKING;
    }
    if (nMessage == CExtPopupMenuWnd::g_nMsgPopupNext || nMessage == CExtPopupMenuWnd::g_nMsgPopupPrev)
    {
        if (!MoveBetweenMenus(nMessage == CExtPopupMenuWnd::g_nMsgPopupNext, false))
            return false;
        lResult = 0;
        return true;
    }
    if (nMessage == CExtPopupMenuWnd::g_nMsgNotifyMenuExpanded)
    {
        g_bMenuTrackingExpanded = true;
        lResult = 0;
        return true;
    }
    if (bInFrame)
    {
        if (nMessage == WM_STYLECHANGING || nMessage == WM_STYLECHANGED)
            return false;
        RemoveFrameMenu();
    }
    return FilterHookedKey(lResult, hWndHooked, nMessage, wParam, lParam);
}

bool CExtMenuControlBar::HookChildMsg(LRESULT& lResult, HWND hWndHooked, UINT nMessage, WPARAM wParam,
                                      LPARAM lParam)
{
    if (nMessage == WM_SIZE || nMessage == WM_WINDOWPOSCHANGED || nMessage == WM_ACTIVATEAPP ||
        nMessage == WM_SYSCOMMAND || (nMessage == WM_COMMAND && HIWORD(wParam) <= 1))
    {
        HWND hWndCapture = ::GetCapture();
        CExtControlBar* pCaptureBar =
            DYNAMIC_DOWNCAST(CExtControlBar, hWndCapture != NULL ? CWnd::FromHandlePermanent(hWndCapture) : NULL);
        if (hWndCapture == m_hWnd ||
            (pCaptureBar != NULL && !pCaptureBar->IsRowResizing() && !pCaptureBar->IsInRowResizing()))
            ::ReleaseCapture();
        EndFlatTracking(true);
        if (g_bButtonMenuTracking)
            CancelAllButtonMenuTracking();
        if (CExtPopupMenuWnd::IsMenuTracking())
            CExtPopupMenuWnd::CancelMenuTracking();
        const WINDOWPOS* pWP = (nMessage == WM_WINDOWPOSCHANGED) ? (const WINDOWPOS*)lParam : NULL;
        const bool bFrameChanged = pWP != NULL && (pWP->flags & SWP_FRAMECHANGED) != 0;
        if (nMessage != WM_SIZE && (nMessage != WM_WINDOWPOSCHANGED || bFrameChanged))
        {
            RemoveFrameMenu();
            if (nMessage == WM_WINDOWPOSCHANGED && !IsCustomizeModeActive())
            {
                const bool bMaximized = ::IsZoomed(hWndHooked) != FALSE;
                CExtBarButton* pFirst = GetButton(0);
                const bool bFirstIsDoc = pFirst != NULL && pFirst->IsKindOf(RUNTIME_CLASS(CExtBarMdiDocButton)) &&
                                         !pFirst->IsKindOf(RUNTIME_CLASS(CExtBarMdiRightButton));
                if (!bMaximized || (!bFirstIsDoc && IsMdiButtonsEnabled()))
                    PostUpdateMenuBar();
            }
        }
        return false;
    }
    CFrameWnd* pFrame = DockingFrame();
    if (pFrame != NULL && IsPrintPreviewActive(pFrame))
    {
        lResult = 0;
        return true;
    }
    if (nMessage == WM_NCLBUTTONDOWN || nMessage == WM_NCLBUTTONUP || nMessage == WM_NCRBUTTONDOWN ||
        nMessage == WM_NCRBUTTONUP)
    {
        const UINT nHit = UINT(wParam);
        const bool bIconic = ::IsIconic(hWndHooked) != FALSE;
        if (bIconic && nMessage == WM_NCLBUTTONUP && nHit == HTCAPTION)
        {
            lResult = 0;
            return true;
        }
        const bool bOpen = (bIconic && nMessage == WM_NCLBUTTONDOWN && nHit == HTCAPTION) ||
                           (nMessage == WM_NCLBUTTONUP && nHit == HTSYSMENU) ||
                           (nMessage == WM_NCRBUTTONUP && (nHit == HTCAPTION || nHit == HTSYSMENU)) ||
                           (nMessage == WM_NCRBUTTONDOWN && nHit == HTCAPTION);
        if (bOpen)
        {
            g_bMenuTrackingExpanded = false;
            if (!IsCustomizeModeActive())
            {
                CPoint pt;
                ::GetCursorPos(&pt);
                const bool bRight = nMessage == WM_NCRBUTTONUP || nMessage == WM_NCRBUTTONDOWN;
                if (TrackMdiChildSystemMenu(bRight ? &pt : NULL, false))
                {
                    lResult = 0;
                    return true;
                }
            }
            return false;
        }
        if ((nMessage == WM_NCLBUTTONDOWN || nMessage == WM_NCRBUTTONDOWN) && nHit == HTSYSMENU &&
            (m_nMenuBarOptions & __EMBO_CHILD_SYSMENU) != 0)
        {
            lResult = 0;
            return true;
        }
        return false;
    }
    if (nMessage == CExtPopupMenuWnd::g_nMsgNotifyMenuClosed)
    {
        ClearTitleHighlights();
        m_nMenuBarState &= ~__EMBS_SYSMENU_TRACKING;
        lResult = 0;
        return true;
    }
    if (nMessage == CExtPopupMenuWnd::g_nMsgPopupNext || nMessage == CExtPopupMenuWnd::g_nMsgPopupPrev)
    {
        if (!MoveBetweenMenus(nMessage == CExtPopupMenuWnd::g_nMsgPopupNext, true))
            return false;
        lResult = 0;
        return true;
    }
    return FilterHookedKey(lResult, hWndHooked, nMessage, wParam, lParam);
}

bool CExtMenuControlBar::HookMdiClientMsg(LRESULT& lResult, HWND hWndHooked, UINT nMessage, WPARAM wParam,
                                          LPARAM lParam)
{
    CFrameWnd* pFrame = DockingFrame();
    if (nMessage == WM_MDISETMENU)
    {
        // The menu is the MDI frame's: the bar shows it and lets it go again.
        lResult = (LRESULT)m_menuMdi.Detach();
        HMENU hNew = (HMENU)wParam;
        if (hNew != NULL && ::IsMenu(hNew))
            m_menuMdi.Attach(hNew);
        if (pFrame != NULL && IsOleInPlaceActive(pFrame))
            ::SetMenu(pFrame->m_hWnd, hNew);
        else
        {
            if (pFrame != NULL && ::GetMenu(pFrame->m_hWnd) != NULL)
                ::SetMenu(pFrame->m_hWnd, NULL);
            PostUpdateMenuBar();
        }
        OnHookCallDefWindowProc(WM_MDISETMENU, 0, 0);
        SyncActiveMdiChildHook();
        m_nMenuBarOptions &= ~__EMBO_SYNC_POSTED;
        return true;
    }
    if (nMessage == WM_MDIREFRESHMENU)
    {
        OnHookCallDefWindowProc(WM_MDIREFRESHMENU, 0, 0);
        SyncActiveMdiChildHook();
        m_nMenuBarOptions &= ~__EMBO_SYNC_POSTED;
        lResult = 0;
        return true;
    }
    if (nMessage == WM_CONTEXTMENU)
    {
        if (!IsCustomizeModeActive() && !IsFrameInHelpMode(this) && pFrame != NULL)
        {
            CWnd* pOwner = GetOwner();
            if (pOwner == NULL)
                pOwner = pFrame;
            CExtPopupMenuWnd* pPopup = new CExtPopupMenuWnd;
            CPoint pt;
            ::GetCursorPos(&pt);
            const bool bFilled = pPopup->CreatePopupMenu(pOwner->GetSafeHwnd()) &&
                                 CExtDockBar::BuildBarsPopupMenu(pFrame, pPopup, 6, this, WM_CONTEXTMENU, NULL);
            if (!bFilled || pPopup->ItemGetCount() == 0)
                delete pPopup;
            else
            {
                pOwner->SetFocus();
                if (!pPopup->TrackPopupMenu(CExtPopupMenuWnd::TMF_OWNER_DRAW, pt.x, pt.y, NULL, this, NULL, NULL, true))
                    delete pPopup;
            }
        }
        lResult = 0;
        return true;
    }
    if (nMessage == WM_MDIACTIVATE || nMessage == WM_MDIDESTROY || nMessage == WM_MDINEXT)
    {
        if (nMessage == WM_MDINEXT && pFrame != NULL && IsOleInPlaceActive(pFrame))
        {
            lResult = 0;
            return true;
        }
        PostSyncActiveMdiChild();
    }
    if (g_CurrentPaintManager.IsWinXP() && nMessage == WM_MDICREATE)
    {
        MDICREATESTRUCTA* pCreate = (MDICREATESTRUCTA*)lParam;
        bool bMaximized = pCreate != NULL && (pCreate->style & WS_MAXIMIZE) != 0;
        if (!bMaximized)
        {
            BOOL bActiveMax = FALSE;
            ::SendMessage(hWndHooked, WM_MDIGETACTIVE, 0, (LPARAM)&bActiveMax);
            bMaximized = bActiveMax != FALSE;
        }
        if (bMaximized)
        {
            ::SendMessage(hWndHooked, WM_SETREDRAW, FALSE, 0);
            if (pCreate != NULL)
                pCreate->style &= ~WS_MAXIMIZE;
        }
        lResult = OnHookCallDefWindowProc(nMessage, wParam, lParam);
        if (bMaximized)
        {
            if (lResult != 0)
                ::ShowWindow((HWND)lResult, SW_SHOWMAXIMIZED);
            ::SendMessage(hWndHooked, WM_SETREDRAW, TRUE, 0);
            ::RedrawWindow(hWndHooked, NULL, NULL, RDW_INVALIDATE | RDW_ALLCHILDREN);
        }
        return true;
    }
    if (g_CurrentPaintManager.IsWinXP() && nMessage == WM_MDIACTIVATE)
    {
        BOOL bActiveMax = FALSE;
        ::SendMessage(hWndHooked, WM_MDIGETACTIVE, 0, (LPARAM)&bActiveMax);
        if (bActiveMax)
            ::SendMessage(hWndHooked, WM_SETREDRAW, FALSE, 0);
        HWND hWndChild = (HWND)wParam;
        if (hWndChild != NULL && ::IsIconic(hWndChild))
            ::SendMessage(hWndHooked, WM_MDIRESTORE, (WPARAM)hWndChild, 0);
        lResult = OnHookCallDefWindowProc(nMessage, wParam, lParam);
        if (bActiveMax)
        {
            ::SendMessage(hWndHooked, WM_SETREDRAW, TRUE, 0);
            ::RedrawWindow(hWndHooked, NULL, NULL, RDW_INVALIDATE | RDW_ALLCHILDREN);
        }
        return true;
    }
    return FilterHookedKey(lResult, hWndHooked, nMessage, wParam, lParam);
}
