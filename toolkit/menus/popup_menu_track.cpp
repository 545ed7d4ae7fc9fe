// Tracking a popup menu: preparing it with the receiver, creating and showing its window,
// the synchronous loop, the selection and tips, and ending it with a chosen command
// (placement, the mouse and the keyboard have files of their own). The command is always
// posted after the WM_CLOSE of the root, so the menus are gone before the command runs.
#include "toolkit/menus/popup_menu_wnd.h"

#include "toolkit/core/cmd_item.h"
#include "toolkit/core/cmd_manager.h"
#include "toolkit/menus/sound_player.h"

#include <algorithm>

bool CExtPopupMenuWnd::g_bLockSystemMoveSize = false;

namespace {

typedef CExtPopupMenuWnd::MENUITEMDATA MENUITEMDATA;

bool IsOwnProcessWindow(HWND hWnd)
{
    if (hWnd == NULL || !::IsWindow(hWnd))
        return false;
    DWORD dwProcess = 0;
    ::GetWindowThreadProcessId(hWnd, &dwProcess);
    return dwProcess == ::GetCurrentProcessId();
}

// The frame of the receiver (its own frame or a parent frame, mini frames skipped) that
// is in context-help mode.
bool IsReceiverInHelpMode(HWND hWndRecv)
{
    for (HWND hWnd = hWndRecv; hWnd != NULL; hWnd = ::GetParent(hWnd))
    {
        CFrameWnd* pFrame = DYNAMIC_DOWNCAST(CFrameWnd, CWnd::FromHandlePermanent(hWnd));
        if (pFrame == NULL || pFrame->IsKindOf(RUNTIME_CLASS(CMiniFrameWnd)))
            continue;
        if (pFrame->m_bHelpMode)
            return true;
    }
    return false;
}

}  // namespace

// ---- TrackPopupMenu -------------------------------------------------------------------------
BOOL CExtPopupMenuWnd::TrackPopupMenu(UINT nTrackFlags, int x, int y, LPCRECT lpRectExclude, LPVOID pCookie,
                                      pCbPaintCombinedContent pCombinedAreaCallback, UINT* lpnResultCmdID,
                                      bool bCookieIsObject)
{
    bool bTipHidden = false;
    if (CExtPopupMenuTipWnd* pTip = g_PopupTrackingSite.m_pTip)
    {
        if (pTip->GetSafeHwnd() != NULL && pTip->IsWindowVisible())
        {
            pTip->Hide();
            pTip->DestroyWindow();
            bTipHidden = true;
        }
    }
    if (CWnd* pOwnTip = GetMenuTipWnd())
    {
        if (pOwnTip->GetSafeHwnd() != NULL && pOwnTip->IsWindowVisible())
        {
            pOwnTip->ShowWindow(SW_HIDE);
            pOwnTip->DestroyWindow();
            bTipHidden = true;
        }
    }
    CWnd::CancelToolTips(FALSE);
    if (bTipHidden)
        CExtPaintManager::PumpPaintMessages(true, true, true);
    if (lpnResultCmdID != NULL)
        *lpnResultCmdID = 0;
    if (IsOwnProcessWindow(m_hWndCmdReceiver) && IsReceiverInHelpMode(m_hWndCmdReceiver))
        nTrackFlags |= TMF_CONTEXT_HELP;
    m_pCustomizeSite = CExtCustomizeSite::GetCustomizeSite(m_hWndCmdReceiver);
    if ((nTrackFlags & TMF_UNTRACKED) != 0)
        nTrackFlags = (nTrackFlags & ~0x8F0u) | 0x1700u;
    if ((nTrackFlags & TMF_CONTEXT_HELP) != 0)
        nTrackFlags |= TMF_EXPANDED;

    // An open combo-box list would stay over the menu.
    if (HWND hWndFocus = ::GetFocus())
    {
        HWND hWndCombo = hWndFocus;
        char szClass[16] = {0};
        for (int i = 0; i < 2 && hWndCombo != NULL; i++)
        {
            ::GetClassNameA(hWndCombo, szClass, sizeof(szClass));
            if (lstrcmpiA(szClass, "ComboBox") == 0)
                break;
            hWndCombo = ::GetParent(hWndCombo);
        }
        if (hWndCombo != NULL && lstrcmpiA(szClass, "ComboBox") == 0 &&
            (::GetWindowLong(hWndCombo, GWL_STYLE) & 0x03) != 0 &&
            ::SendMessage(hWndCombo, CB_GETDROPPEDSTATE, 0, 0) != 0)
            ::SendMessage(hWndCombo, CB_SHOWDROPDOWN, FALSE, 0);
    }

    if (!g_PopupTrackingSite.IsEmpty() && !g_PopupTrackingSite.IsTopMenu(this))
    {
        if (g_PopupTrackingSite.IsShutdownMode())
            return FALSE;
        g_PopupTrackingSite.DoneInstance();
    }
    HWND hWndCapture = ::GetCapture();
    if (hWndCapture != NULL && IsOwnProcessWindow(hWndCapture))
    {
        ::ReleaseCapture();
        if (::IsWindow(hWndCapture))
            ::SendMessage(hWndCapture, WM_CANCELMODE, 0, 0);
    }
    const bool bUntracked = (nTrackFlags & TMF_UNTRACKED) != 0;
    if (!bUntracked)
    {
        g_PopupTrackingSite.SetInstance(this);
        g_PopupTrackingSite.SetResultCmdIdPtr(lpnResultCmdID);
    }
    m_dwTrackFlags = (m_dwTrackFlags & (TMF_PALETTE | TMF_PALETTE_BK)) | nTrackFlags;
    if ((nTrackFlags & (TMF_CONTEXT_HELP | TMF_UNTRACKED)) == 0)
        UpdateItemsCmdUI();
    if (!TrackPopupMenuImpl(nTrackFlags, x, y, lpRectExclude, pCookie, pCombinedAreaCallback, bCookieIsObject))
    {
        // The caller still owns a menu that did not show (callers delete it on FALSE):
        // the tracking ends without deleting it.
        if (!bUntracked && g_PopupTrackingSite.IsTopMenu(this))
        {
            g_PopupTrackingSite.m_pTopMenu = NULL;
            g_PopupTrackingSite.SetCurrentPopup(NULL);
            g_PopupTrackingSite.SetAnimatedMenu(NULL);
            g_PopupTrackingSite.SetResultCmdIdPtr(NULL);
            g_PopupTrackingSite.SetupHooks(false);
        }
        if (GetSafeHwnd() != NULL && ::IsWindow(m_hWnd))
            DestroyWindow();
        return FALSE;
    }
    if ((nTrackFlags & TMF_SYNC) == 0)
        return TRUE;
    HWND hWnd = GetSafeHwnd();
    while (!g_PopupTrackingSite.IsEmpty() && ::IsWindow(hWnd))
    {
        ::WaitMessage();
        stat_PumpPendingMessages(g_bPumpCallsOnIdle);
    }
    if (!g_PopupBarServices.IsButtonMenuTracking() && !g_PopupTrackingSite.IsEmpty() &&
        !g_PopupTrackingSite.IsShutdownMode())
        g_PopupTrackingSite.DoneInstance();
    return TRUE;
}

// ---- TrackPopupMenuImpl ---------------------------------------------------------------------
BOOL CExtPopupMenuWnd::TrackPopupMenuImpl(UINT nTrackFlags, int x, int y, LPCRECT lpRectExclude, LPVOID pCookie,
                                          pCbPaintCombinedContent pCombinedAreaCallback, bool bCookieIsObject)
{
    const bool bExpandedRequest = (nTrackFlags & TMF_EXPANDED) != 0 || !g_bHideRarelyUsedItems;
    const bool bUntracked = (nTrackFlags & TMF_UNTRACKED) != 0 || IsUntrackedMode();
    if (!PrepareWithReceiver(bUntracked))
        return FALSE;
    ResetForTracking(nTrackFlags, pCookie, pCombinedAreaCallback, bCookieIsObject, bExpandedRequest);
    if (!SetTrackPointAndExcludeArea(x, y, lpRectExclude))
        return FALSE;
    DecideCombineWithOwner(lpRectExclude != NULL, pCookie, bCookieIsObject);
    if (lpRectExclude != NULL)
        AlignTrackPointToExcludeArea();
    HWND hWndRecv = m_hWndCmdReceiver;
    if (!CreateMenuWindow((hWndRecv != NULL && ::IsWindow(hWndRecv)) ? CWnd::FromHandle(hWndRecv) : NULL))
        return FALSE;
    HWND hWnd = GetSafeHwnd();
    if ((m_dwTrackFlags & TMF_SELECT_ANY) != 0)
    {
        const int nFirst = FindNextItem(NEXT_CURRENT);
        if (nFirst >= 0)
            SelectItem(nFirst, false, false, false);
        if (!::IsWindow(hWnd))
            return FALSE;
    }
    if (!StartOpenAnimation(bUntracked))
        return FALSE;
    ShowMenuWindow(bUntracked);
    return TRUE;
}

// Sends one of the prepare messages; the receiver may cancel the menu or say that it
// changed the items.
bool CExtPopupMenuWnd::SendPrepareMessage(UINT nMsg, BYTE nFlags)
{
    PREPAREMENUDATA pmd(this, nFlags);
    ::SendMessage(m_hWndCmdReceiver, nMsg, (WPARAM)&pmd, (LPARAM)this);
    if ((pmd.m_nFlags & 0x02) != 0)
        return false;
    if ((pmd.m_nFlags & 0x01) != 0)
    {
        RecalcLayout();
        UpdateItemsCmdUI();
    }
    return true;
}

// The receiver prepares the whole tree once, at its root, and every level as it opens.
bool CExtPopupMenuWnd::PrepareWithReceiver(bool bUntracked)
{
    const bool bRecvIsWindow = m_hWndCmdReceiver != NULL && ::IsWindow(m_hWndCmdReceiver);
    if (!bUntracked && g_PopupTrackingSite.IsTopMenu(this) && bRecvIsWindow)
    {
        if (!SendPrepareMessage(g_nMsgPrepareMenu, 0))
            return false;
    }
    if (bRecvIsWindow && ::IsWindow(m_hWndCmdReceiver))
    {
        if (!SendPrepareMessage(g_nMsgPrepareOneMenuLevel, 0x04))
            return false;
    }
    if (!bUntracked)
        UpdateSystemCommandItems();
    return true;
}

// A fresh state for this tracking (keeping the top-level, expand-area and palette bits),
// expanded where asked or where the parent is, and laid out.
void CExtPopupMenuWnd::ResetForTracking(UINT nTrackFlags, LPVOID pCookie, pCbPaintCombinedContent pCombinedAreaCallback,
                                        bool bCookieIsObject, bool bExpandedRequest)
{
    const BYTE nKeptMenuFlags = m_nMenuFlags & (__MF_TOP_LEVEL | __MF_EXPAND_AREA);
    const DWORD dwKeptTrackFlags = m_dwTrackFlags & (TMF_PALETTE | TMF_PALETTE_BK);
    ResetState();
    m_nMenuFlags |= nKeptMenuFlags;
    m_dwTrackFlags = dwKeptTrackFlags | nTrackFlags;
    m_pCbPaintCombinedCookie = pCookie;
    m_pCbPaintCombinedContent = pCombinedAreaCallback;
    m_bCookieIsObject = bCookieIsObject;

    if (m_pParentMenu == NULL)
    {
        if (bExpandedRequest)
        {
            m_nMenuFlags |= __MF_EXPANDED;
            if (HasExpandArea())
                m_nMenuFlags &= ~__MF_EXPAND_AREA;
        }
    }
    else if (m_pParentMenu->IsExpanded())
    {
        m_nMenuFlags |= __MF_EXPANDED;
        m_nMenuFlags &= ~__MF_EXPAND_AREA;
    }
    RecalcLayout();
}

// The track point (the cursor where none is given) and the exclude rectangle, a small
// square around the point where none is given. False when the cursor cannot be read.
bool CExtPopupMenuWnd::SetTrackPointAndExcludeArea(int x, int y, LPCRECT lpRectExclude)
{
    if (x < 0 || y < 0)
    {
        POINT ptCursor;
        if (!::GetCursorPos(&ptCursor))
            return false;
        x = ptCursor.x;
        y = ptCursor.y;
    }
    m_ptTrack = CPoint(x, y);
    if (lpRectExclude != NULL)
    {
        m_rcWndArea = *lpRectExclude;
        m_nPbwFlags |= 0x01;
    }
    else
    {
        m_rcWndArea.SetRect(x - 3, y - 3, x + 3, y + 3);
        m_nPbwFlags &= ~0x01;
    }
    return true;
}

// A menu with an exclude rectangle joins it always, or where the paint manager says so.
void CExtPopupMenuWnd::DecideCombineWithOwner(bool bHasExcludeArea, LPVOID pCookie, bool bCookieIsObject)
{
    m_nPbwFlags &= ~__PBW_FLAG_COMBINED;
    if (!bHasExcludeArea)
        return;
    const DWORD dwCombine = m_dwTrackFlags & TMF_COMBINE_MASK;
    if (dwCombine == TMF_COMBINE_ALWAYS)
        m_nPbwFlags |= __PBW_FLAG_COMBINED;
    else if (dwCombine == TMF_COMBINE_BY_PM)
    {
        CExtPaintManager* pPM = g_CurrentPaintManager.GetPM();
        CObject* pCookieObject = bCookieIsObject ? (CObject*)pCookie : NULL;
        if (pPM != NULL && pPM->IsMenuCombinedWithOwner(pCookieObject))
            m_nPbwFlags |= __PBW_FLAG_COMBINED;
    }
}

// Moves the track point to the side of the exclude rectangle the alignment asks for; a
// right-to-left sub-menu of a root opening below or above opens to the left.
void CExtPopupMenuWnd::AlignTrackPointToExcludeArea()
{
    CSize sizeMenu;
    CalcMenuSize(sizeMenu);
    if (IsLayoutRTL() && m_pParentMenu != NULL)
    {
        CExtPopupMenuWnd* pRoot = m_pParentMenu;
        while (pRoot->m_pParentMenu != NULL)
            pRoot = pRoot->m_pParentMenu;
        const DWORD dwRootAlign = pRoot->m_dwTrackFlags & TMF_ALIGN_MASK;
        if (dwRootAlign == TMF_ALIGN_BELOW || dwRootAlign == TMF_ALIGN_ABOVE)
            m_dwTrackFlags = (m_dwTrackFlags & ~TMF_ALIGN_MASK) | TMF_ALIGN_LEFT_OF;
    }
    switch (m_dwTrackFlags & TMF_ALIGN_MASK)
    {
    case TMF_ALIGN_RIGHT_OF:
        m_ptTrack = CPoint(m_rcWndArea.right, m_rcWndArea.top);
        break;
    case TMF_ALIGN_CENTRED_X:
        m_ptTrack.x -= sizeMenu.cx / 2;
        break;
    case TMF_ALIGN_LEFT_OF:
        m_ptTrack = CPoint(m_rcWndArea.left - sizeMenu.cx, m_rcWndArea.top);
        break;
    case TMF_ALIGN_BELOW:
        m_ptTrack = CPoint(m_rcWndArea.left, m_rcWndArea.bottom);
        break;
    case TMF_ALIGN_CENTRED_Y:
        m_ptTrack.y -= sizeMenu.cy / 2;
        break;
    case TMF_ALIGN_ABOVE:
        m_ptTrack = CPoint(m_rcWndArea.left, m_rcWndArea.top - sizeMenu.cy);
        break;
    default:
        break;
    }
}

// Runs the open animation (or the plain display of the content). False when the window
// died meanwhile.
bool CExtPopupMenuWnd::StartOpenAnimation(bool bUntracked)
{
    HWND hWnd = GetSafeHwnd();
    int nKind = 0;
    if ((m_dwTrackFlags & TMF_NO_ANIMATION) == 0 && !bUntracked)
    {
        nKind = (!g_bAnimationAllowed || g_PopupBarServices.IsButtonMenuTracking()) ? 0 : g_nDefaultAnimation;
        SetAnimationKind(nKind);
        SetSoundEvent(2);
        AnimationStart();
        if (!::IsWindow(hWnd))
            return false;
        nKind = GetAnimationKind();
    }
    if (nKind == 0)
    {
        SetAnimationKind(__AT_CONTENT_DISPLAY);
        AnimationStart();
        if (!::IsWindow(hWnd))
            return false;
    }
    return true;
}

// Shapes and shows the window; a tracked menu becomes the current popup, an untracked one
// a drop target of the customize site.
void CExtPopupMenuWnd::ShowMenuWindow(bool bUntracked)
{
    HWND hWnd = GetSafeHwnd();
    if (m_rgnCombined.GetSafeHandle() != NULL)
    {
        HRGN hRgn = ::CreateRectRgn(0, 0, 0, 0);
        ::CombineRgn(hRgn, (HRGN)m_rgnCombined.GetSafeHandle(), NULL, RGN_COPY);
        ::SetWindowRgn(hWnd, hRgn, FALSE);
    }
    CaptureShadowBeforeShow();
    ::SetWindowPos(hWnd, NULL, 0, 0, 0, 0,
                   SWP_SHOWWINDOW | SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOOWNERZORDER);
    if (!bUntracked)
        ActivateCurrentPopup();
    else if (CExtCustomizeSite* pSite = GetCustomizeSite())
        pSite->DropTargetRegister(this);
}

// The items mirroring a window's system menu are enabled by the window's state and take
// their texts from its system menu.
void CExtPopupMenuWnd::UpdateSystemCommandItems()
{
    for (int i = 0; i < ItemGetCount(); i++)
    {
        MENUITEMDATA& mi = m_items.ElementAt(i);
        const UINT nCmd = mi.m_nCmdID;
        if (mi.IsSeparator() || mi.IsPopup() || nCmd < 0xF000 || nCmd > 0xF1EF)
            continue;
        HWND hWnd = mi.GetCmdReceiver();
        if (hWnd == NULL)
            hWnd = m_hWndCmdReceiver;
        if (hWnd == NULL || !::IsWindow(hWnd))
            continue;
        WINDOWPLACEMENT wp;
        ::ZeroMemory(&wp, sizeof(wp));
        wp.length = sizeof(wp);
        ::GetWindowPlacement(hWnd, &wp);
        const DWORD dwStyle = (DWORD)::GetWindowLong(hWnd, GWL_STYLE);
        const DWORD dwExStyle = (DWORD)::GetWindowLong(hWnd, GWL_EXSTYLE);
        const bool bMin = wp.showCmd == SW_SHOWMINIMIZED || ::IsIconic(hWnd);
        const bool bMax = wp.showCmd == SW_SHOWMAXIMIZED || ::IsZoomed(hWnd);
        HMENU hSysMenu = ::GetSystemMenu(hWnd, FALSE);
        bool bEnabled = true;
        bool bKnown = true;
        switch (nCmd & 0xFFF0)
        {
        case SC_SIZE:
        case SC_MOVE: bEnabled = !bMin && !bMax && !g_bLockSystemMoveSize; break;
        case SC_MINIMIZE: bEnabled = (dwStyle & WS_MINIMIZEBOX) != 0 && !bMin; break;
        case SC_MAXIMIZE: bEnabled = (dwStyle & WS_MAXIMIZEBOX) != 0 && !bMax && !g_bLockSystemMoveSize; break;
        case SC_CLOSE:
            if (hSysMenu != NULL)
            {
                MENUITEMINFO mii;
                ::ZeroMemory(&mii, sizeof(mii));
                mii.cbSize = sizeof(mii);
                mii.fMask = MIIM_STATE;
                if (::GetMenuItemInfo(hSysMenu, SC_CLOSE, FALSE, &mii) &&
                    (mii.fState & (MFS_GRAYED | MFS_DISABLED)) != 0)
                    bEnabled = false;
            }
            break;
        case SC_RESTORE: bEnabled = (dwStyle & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX)) != 0 && (bMin || bMax); break;
        case SC_CONTEXTHELP: bEnabled = (dwExStyle & WS_EX_CONTEXTHELP) != 0; break;
        default: bKnown = false; break;
        }
        if (!bKnown)
            continue;
        if (LPCTSTR sProfile = g_CommandManager->ProfileNameFromWnd(hWnd))
        {
            CExtCmdItem* pCmd = g_CommandManager->CmdGetPtr(sProfile, nCmd);
            if (pCmd == NULL)
                pCmd = g_CommandManager->CmdAllocPtr(sProfile, nCmd);
            if (pCmd != NULL)
                pCmd->Enable(bEnabled);
        }
        mi.Enable(bEnabled);
        if (hSysMenu == NULL)
            continue;
        TCHAR szText[1024] = {0};
        MENUITEMINFO mii;
        ::ZeroMemory(&mii, sizeof(mii));
        mii.cbSize = sizeof(mii);
        mii.fMask = MIIM_STATE | MIIM_TYPE;
        mii.dwTypeData = szText;
        mii.cch = 1023;
        if (!::GetMenuItemInfo(hSysMenu, nCmd, FALSE, &mii))
            continue;
        CString sText(szText);
        sText.Remove(_T('\n'));
        sText.Remove(_T('\r'));
        sText.TrimLeft();
        sText.TrimRight();
        CString sAccel;
        const int nTab = sText.Find(_T('\t'));
        if (nTab >= 0)
        {
            sAccel = sText.Mid(nTab + 1);
            sAccel.TrimLeft();
            sAccel.TrimRight();
            sText = sText.Left(nTab);
        }
        if ((nCmd & 0xFFF0) == SC_CLOSE && (::GetWindowLong(hWnd, GWL_EXSTYLE) & WS_EX_MDICHILD) != 0)
            sAccel = _T("Ctrl+F4");
        mi.m_sText = sText;
        mi.m_sAccelText = sAccel;
        mi.UpdateAccessKey();
        if ((mii.fState & MFS_DEFAULT) != 0)
            mi.m_nLayoutFlags |= MENUITEMDATA::__MIF_DEFAULT;
        mi.MeasureItem();
    }
}

// ---- the window -------------------------------------------------------------------------------
bool CExtPopupMenuWnd::CreateMenuWindow(CWnd* pWndCmdReceiver)
{
    bool bHasInplace = false;
    for (int i = 0; i < ItemGetCount(); i++)
    {
        MENUITEMDATA& mi = m_items.ElementAt(i);
        if (mi.IsInplaceEdit())
        {
            mi.m_pWndInplaceEdit = NULL;
            bHasInplace = true;
            break;
        }
    }
    if (bHasInplace || IsPaletteLayout())
        RecalcLayout();
    CRect rcWnd;
    CalcPlacementRect(rcWnd);
    if (rcWnd.IsRectEmpty())
        return false;
    const CString sClass = AfxRegisterWndClass(CS_SAVEBITS, ::LoadCursor(NULL, IDC_ARROW),
                                               (HBRUSH)(COLOR_BTNFACE + 1), NULL);
    if (pWndCmdReceiver != NULL)
        ::SendMessage(pWndCmdReceiver->GetSafeHwnd(), g_nMsgPrepareDesktopBk, (WPARAM)this, 0);
    const DWORD dwExStyle = IsUntrackedMode() ? 0 : (WS_EX_TOPMOST | WS_EX_NOINHERITLAYOUT);
    if (!CreateEx(dwExStyle, sClass, _T(""), WS_POPUP, rcWnd.left, rcWnd.top, rcWnd.Width(), rcWnd.Height(),
                  (pWndCmdReceiver != NULL) ? pWndCmdReceiver->GetSafeHwnd() : NULL, 0))
        return false;
    RecalcServiceAreas();
    if (!IsContextHelpMode())
        ::SetCursor(::LoadCursor(NULL, IDC_ARROW));
    if (bHasInplace)
        CreateInplaceEdits();
    return true;
}
void CExtPopupMenuWnd::ReleaseAnimationResources()
{
    m_rgnCombined.DeleteObject();
    m_shadow.Reset();
    m_shadowCombined.Reset();
    CExtPopupBaseWnd::ReleaseCachedBitmaps();
    if (GetSafeHwnd() != NULL)
        ::KillTimer(m_hWnd, ID_TIMER_ANIMATION);
}

void CExtPopupMenuWnd::ActivateCurrentPopup()
{
    if (GetSafeHwnd() != NULL && ::IsWindow(m_hWnd))
        g_PopupTrackingSite.SetCurrentPopup(this);
    else
        g_PopupTrackingSite.SetCurrentPopup(NULL);
}

CExtPopupMenuWnd* CExtPopupMenuWnd::GetCurrentPopup() { return g_PopupTrackingSite.GetCurrentPopup(); }

void CExtPopupMenuWnd::ReleaseCurrentPopup()
{
    if (g_PopupTrackingSite.GetCurrentPopup() == this && !g_PopupTrackingSite.IsEmpty() &&
        !g_PopupTrackingSite.IsShutdownMode())
        g_PopupTrackingSite.SetCurrentPopup(NULL);
}

void CExtPopupMenuWnd::RepaintUnderlyingWindows()
{
    HWND hWnd = GetSafeHwnd();
    if (hWnd == NULL)
        return;
    ::ShowWindow(hWnd, SW_HIDE);
    m_shadow.Reset();
    m_shadowCombined.Reset();
    if (m_pParentMenu != NULL)
        m_pParentMenu->RepaintUnderlyingWindows();
    else if (m_hWndCmdReceiver != NULL && ::IsWindow(m_hWndCmdReceiver))
    {
        ::UpdateWindow(::GetAncestor(m_hWndCmdReceiver, GA_ROOT));
        CExtPaintManager::PumpPaintMessages(true, true, true);
    }
    if (!::IsWindow(hWnd))
        return;
    CaptureShadowBeforeShow();
    ::SetWindowPos(hWnd, NULL, 0, 0, 0, 0,
                   SWP_SHOWWINDOW | SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOREDRAW);
    CClientDC dc(this);
    OnPaintMenu(dc, true);
}

// The shadow darkens what lies under its strips; once the window shows, a read from the
// screen would give the window's own unpainted pixels.
void CExtPopupMenuWnd::CaptureShadowBeforeShow()
{
    m_shadow.Reset();
    m_shadowCombined.Reset();
    const int S = GetShadowSize();
    if (GetSafeHwnd() == NULL || S <= 0 || !IsShadowEnabled())
        return;
    CRect rcWnd;
    GetWindowRect(&rcWnd);
    CRect rcP;
    GetPaintRect(rcP);
    rcP.OffsetRect(rcWnd.TopLeft());
    m_shadow.CaptureFromScreen(rcP, S);
    if ((m_nPbwFlags & __PBW_FLAG_COMBINED) != 0 && m_pParentMenu == NULL)
        m_shadowCombined.CaptureFromScreen(m_rcWndArea, S);
}

bool CExtPopupMenuWnd::IsRectOnMenuTree(LPCRECT lpRectScreen, bool bCheckParents)
{
    if (lpRectScreen == NULL)
        return false;
    for (CExtPopupMenuWnd* pMenu = this; pMenu != NULL; pMenu = bCheckParents ? pMenu->m_pParentMenu : NULL)
    {
        if (pMenu->GetSafeHwnd() != NULL)
        {
            CRect rc, rcX;
            pMenu->GetWindowRect(&rc);
            if (rcX.IntersectRect(&rc, lpRectScreen))
                return true;
        }
    }
    return false;
}

// ---- ending with a command ------------------------------------------------------------------
void CExtPopupMenuWnd::EndSequence(UINT nCmdID, HWND hWndDeliver)
{
    if (UINT* pResult = g_PopupTrackingSite.GetResultCmdIdPtr())
        *pResult = nCmdID;
    CExtCmdItem* pCmd = NULL;
    if (nCmdID != 0 && (m_dwTrackFlags & TMF_NO_DELIVERY) == 0 && m_hWndCmdReceiver != NULL)
        if (LPCTSTR sProfile = g_CommandManager->ProfileNameFromWnd(m_hWndCmdReceiver))
            pCmd = g_CommandManager->CmdGetPtr(sProfile, nCmdID);
    HWND hWndTarget = (hWndDeliver != NULL) ? hWndDeliver : m_hWndCmdReceiver;
    const bool bUntracked = IsUntrackedMode();
    const DWORD dwFlags = m_dwTrackFlags;
    for (CExtPopupMenuWnd* pMenu = this; pMenu != NULL; pMenu = pMenu->m_pParentMenu)
        if (pMenu->GetSafeHwnd() != NULL)
            pMenu->ShowWindow(SW_HIDE);
    CExtPopupMenuWnd* pTop = g_PopupTrackingSite.GetInstance();
    if (pTop != NULL && pTop->GetSafeHwnd() != NULL && ::IsWindow(pTop->GetSafeHwnd()))
        ::PostMessage(pTop->GetSafeHwnd(), WM_CLOSE, 0, 0);
    if (g_PopupBarServices.IsButtonMenuTracking())
        g_PopupBarServices.CancelAllButtonMenuTracking();
    // Nothing of this object is used below: the root may be gone already.
    if (hWndTarget == NULL || !::IsWindow(hWndTarget) || bUntracked)
        return;
    if ((dwFlags & TMF_NO_DELIVERY) == 0)
    {
        if (pCmd != NULL)
            pCmd->Deliver(hWndTarget, false);
        else if (nCmdID != 0)
            ::PostMessage(hWndTarget, WM_COMMAND, (WPARAM)nCmdID, 0);
    }
    g_MenuSoundPlayer->PlaySound(3);
}

// ---- selection and input ------------------------------------------------------------------------
bool CExtPopupMenuWnd::ITEMCOVERINGNOTIFICATION::Notify(HWND hWnd)
{
    if (hWnd != NULL && ::IsWindow(hWnd))
        ::SendMessage(hWnd, g_nMsgItemCoveringNotification, (WPARAM)this, 0);
    return m_bSuppressShowTip;
}

bool CExtPopupMenuWnd::NotifyItemCovering(ITEMCOVERINGNOTIFICATION::eICN_t eICN, int nIndex, bool bEnableShowSubMenu,
                                          bool bSelectFirstInSubMenu)
{
    HWND hWnd = GetSafeHwnd();
    ITEMCOVERINGNOTIFICATION icn(eICN, this, NULL, nIndex, bEnableShowSubMenu, bSelectFirstInSubMenu);
    if (icn.Notify(m_hWndCmdReceiver))
        m_nMenuFlags |= __MF_TIP_SUPPRESSED;
    else
        m_nMenuFlags &= ~__MF_TIP_SUPPRESSED;
    return hWnd == NULL || ::IsWindow(hWnd);
}

void CExtPopupMenuWnd::ShowItemStatusText(int nIndex)
{
    HWND hWndOwner = (GetSafeHwnd() != NULL) ? ::GetWindow(m_hWnd, GW_OWNER) : NULL;
    if (hWndOwner == NULL && GetSafeHwnd() != NULL)
        hWndOwner = ::GetParent(m_hWnd);
    if (hWndOwner == NULL)
        hWndOwner = m_hWndCmdReceiver;
    if (hWndOwner == NULL || !::IsWindow(hWndOwner))
        return;
    UINT nStatus = 0xE001;
    if (nIndex >= 0 && nIndex < ItemGetCount())
    {
        const MENUITEMDATA& mi = m_items.GetAt(nIndex);
        if (mi.IsSelected() && !mi.IsPopup() && !mi.IsSeparator())
        {
            const UINT nCmd = mi.m_nCmdID;
            if (nCmd < 0xF000 || nCmd > 0xF1EF)
                nStatus = nCmd;
            else
            {
                switch (nCmd & 0xFFF0)
                {
                case SC_SIZE: nStatus = 0xEF00; break;
                case SC_MOVE: nStatus = 0xEF01; break;
                case SC_MINIMIZE: nStatus = 0xEF02; break;
                case SC_MAXIMIZE: nStatus = 0xEF03; break;
                case SC_NEXTWINDOW: nStatus = 0xEF04; break;
                case SC_PREVWINDOW: nStatus = 0xEF05; break;
                case SC_CLOSE: nStatus = 0xEF06; break;
                case SC_RESTORE: nStatus = 0xEF12; break;
                case SC_TASKLIST: nStatus = 0xEF13; break;
                default: break;
                }
            }
        }
    }
    g_PopupBarServices.ShowCommandStatusText(CWnd::FromHandle(hWndOwner), nStatus);
}

void CExtPopupMenuWnd::SelectItem(int nIndex, bool bEnableShowSubMenu, bool bRepaint, bool bSelectFirstInSubMenu)
{
    HWND hWnd = GetSafeHwnd();
    if (nIndex != m_nCurIndex)
    {
        DeselectCurrentItem(false, true);
        if (hWnd != NULL && !::IsWindow(hWnd))
            return;
        m_nCurIndex = nIndex;
        if (nIndex < 0)
        {
            if (bRepaint && GetSafeHwnd() != NULL && IsWindowVisible())
            {
                CClientDC dc(this);
                OnPaintMenu(dc, true);
            }
            return;
        }
        if (!NotifyItemCovering(ITEMCOVERINGNOTIFICATION::__EICN_SET, nIndex, bEnableShowSubMenu,
                                bSelectFirstInSubMenu))
            return;
    }
    if (nIndex >= 0 && nIndex < ItemGetCount() && IsItemSelectable(nIndex))
    {
        MENUITEMDATA& mi = m_items.ElementAt(nIndex);
        if (mi.IsDisplayed())
            mi.m_nLayoutFlags |= MENUITEMDATA::__MIF_SELECTED;
        if (IsScrollable() && GetSafeHwnd() != NULL)
        {
            CRect rc;
            GetItemRect(nIndex, rc, false);
            CRect rcP;
            GetPaintRect(rcP);
            const int nTop = m_rcScrollTop.bottom;
            const int nBottom = HasExpandArea() ? m_rcExpand.top : m_rcScrollBottom.top;
            int nPos = m_nScrollPos;
            if (rc.top < nTop)
                nPos += nTop - rc.top;
            else if (rc.bottom > nBottom)
                nPos -= rc.bottom - nBottom;
            nPos = std::min(0, std::max(nPos, GetScrollLimit()));
            if (nPos != m_nScrollPos)
            {
                m_nScrollPos = nPos;
                InvalidateItemRects();
                MoveInplaceEdits();
            }
        }
    }
    if (GetSafeHwnd() != NULL)
        ShowItemStatusText(nIndex);
    if (bRepaint && GetSafeHwnd() != NULL && IsWindowVisible())
    {
        CClientDC dc(this);
        OnPaintMenu(dc, true);
    }
    if (!bEnableShowSubMenu || nIndex < 0 || nIndex >= ItemGetCount())
        return;
    MENUITEMDATA& mi = m_items.ElementAt(nIndex);
    if (!mi.IsSelected() || !mi.IsPopup())
        return;
    CWnd* pEdit = mi.GetInplaceEditWnd();
    if (pEdit != NULL && pEdit->GetSafeHwnd() != NULL && pEdit->IsWindowVisible())
        return;
    OpenSubMenu(nIndex, bSelectFirstInSubMenu);
    if (mi.IsInplaceEdit() && GetSafeHwnd() != NULL && IsWindowVisible())
    {
        CClientDC dc(this);
        OnPaintMenu(dc, true);
    }
}

void CExtPopupMenuWnd::DeselectCurrentItem(bool bRepaint, bool bHideTip)
{
    HWND hWnd = GetSafeHwnd();
    if (bHideTip && !IsUntrackedMode())
    {
        HideMenuTip(true);
        if (hWnd != NULL && !::IsWindow(hWnd))
            return;
    }
    if (m_nCurIndex >= 0 && m_nCurIndex < ItemGetCount())
    {
        const int nOld = m_nCurIndex;
        MENUITEMDATA& miOld = m_items.ElementAt(nOld);
        if (miOld.IsInplaceEdit())
        {
            miOld.SetInplaceEditText(NULL);
            CWnd* pEdit = miOld.GetInplaceEditWnd();
            if (pEdit != NULL && pEdit->GetSafeHwnd() != NULL && pEdit->IsWindowVisible())
                pEdit->ShowWindow(SW_HIDE);
        }
        miOld.m_nLayoutFlags &= ~MENUITEMDATA::__MIF_SELECTED;
        m_nCurIndex = -1;
        if (!NotifyItemCovering(ITEMCOVERINGNOTIFICATION::__EICN_CANCEL, nOld))
            return;
        if (miOld.IsPopup() && miOld.m_pPopup != NULL && miOld.m_pPopup->GetSafeHwnd() != NULL)
        {
            miOld.m_pPopup->DestroyMenuWindow(false);
            if (hWnd != NULL && !::IsWindow(hWnd))
                return;
        }
        if (GetSafeHwnd() != NULL)
            ShowItemStatusText(-1);
    }
    else
        m_nCurIndex = -1;
    if (bRepaint && GetSafeHwnd() != NULL && IsWindowVisible())
    {
        CClientDC dc(this);
        OnPaintMenu(dc, true);
    }
}

// Opens the sub-menu of a selected sub-menu item beside the item.
bool CExtPopupMenuWnd::OpenSubMenu(int nIndex, bool bSelectFirst)
{
    if (nIndex < 0 || nIndex >= ItemGetCount() || GetSafeHwnd() == NULL)
        return false;
    MENUITEMDATA& mi = m_items.ElementAt(nIndex);
    CExtPopupMenuWnd* pSub = mi.m_pPopup;
    if (!mi.IsPopup() || pSub == NULL || !mi.IsSelected())
        return false;
    if (!IsUntrackedMode())
        ReleaseCurrentPopup();
    CRect rcItem;
    GetItemRect(nIndex, rcItem, true);
    rcItem.left -= (int)m_nLeftAreaWidth;
    ClientToScreen(&rcItem);
    if (pSub->GetSafeHwnd() == NULL)
    {
        pSub->m_pParentMenu = this;
        if (pSub->m_hWndCmdReceiver == NULL)
            pSub->m_hWndCmdReceiver = m_hWndCmdReceiver;
        const UINT nFlags = (m_dwTrackFlags & 0x1600) | (((mi.m_nLayoutFlags & MENUITEMDATA::__MIF_COMBINED_SUBMENU) != 0) ? 0x20 : 0);
        if (!pSub->TrackPopupMenuImpl(nFlags, rcItem.right, rcItem.top, &rcItem, (LPVOID)(INT_PTR)nIndex,
                                      stat_PaintParentItemCallback, false))
            return false;
    }
    else if (!pSub->IsWindowVisible())
    {
        pSub->SetWindowPos(NULL, 0, 0, 0, 0,
                           SWP_SHOWWINDOW | SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER);
        CClientDC dc(pSub);
        pSub->OnPaintMenu(dc, true);
    }
    if (bSelectFirst && pSub->GetSafeHwnd() != NULL)
    {
        const int nFirst = pSub->FindNextItem(NEXT_CURRENT);
        if (nFirst >= 0)
            pSub->SelectItem(nFirst, false, true, false);
    }
    return true;
}

// Executes the current item as Enter or a click does: its own callback, a command, or the
// sub-menu it opens.
void CExtPopupMenuWnd::ExecuteItem(int nIndex)
{
    if (nIndex < 0 || nIndex >= ItemGetCount())
        return;
    MENUITEMDATA& mi = m_items.ElementAt(nIndex);
    if (mi.IsInplaceEdit())
    {
        CWnd* pEdit = mi.GetInplaceEditWnd();
        if (pEdit != NULL && pEdit->GetSafeHwnd() != NULL && mi.IsInplaceEditActive() && !pEdit->IsWindowVisible())
            ShowInplaceEdit(nIndex);
        return;
    }
    if (mi.IsPopup() && !mi.IsExecutable())
    {
        SelectItem(nIndex, false, true, false);
        OpenSubMenu(nIndex, true);
        ActivateCurrentPopup();
        if (mi.m_pPopup != NULL && mi.m_pPopup->GetSafeHwnd() != NULL)
            mi.m_pPopup->ActivateCurrentPopup();
        return;
    }
    if (!mi.IsPopup() && !IsItemSelectable(nIndex))
        return;
    if (mi.m_nCmdID != 0 && mi.m_pCbItemExtra != NULL && !IsContextHelpMode())
    {
        mi.m_pCbItemExtra(this, &mi);
        if (GetSafeHwnd() != NULL)
        {
            CClientDC dc(this);
            OnPaintMenu(dc, true);
        }
        return;
    }
    if (mi.m_pCbItemClick != NULL && mi.m_pCbItemClick(this, &mi))
        return;
    EndSequence(mi.GetCmdID(), mi.GetCmdReceiver());
}

bool CExtPopupMenuWnd::IsMenuTipVisible()
{
    if (IsUntrackedMode() || g_PopupTrackingSite.GetCurrentPopup() != this)
        return false;
    return m_wndMenuTip.GetSafeHwnd() != NULL && m_wndMenuTip.IsWindowVisible();
}

void CExtPopupMenuWnd::HideMenuTip(bool bRepaintMenu)
{
    if (m_wndMenuTip.GetSafeHwnd() == NULL)
        return;
    if (bRepaintMenu && GetSafeHwnd() != NULL && IsWindowVisible() && g_PopupTrackingSite.GetAnimatedMenu() == NULL)
    {
        CClientDC dc(this);
        OnPaintMenu(dc, true);
    }
    m_wndMenuTip.Hide();
}

// Shows the item's tip beside it while tips are on and this menu takes input.
void CExtPopupMenuWnd::ShowItemTip(int nIndex)
{
    if (!g_bShowMenuTips || (m_nMenuFlags & __MF_TIP_SUPPRESSED) != 0 ||
        g_PopupTrackingSite.GetCurrentPopup() != this || nIndex < 0 || nIndex >= ItemGetCount())
        return;
    CString sTip;
    m_items.ElementAt(nIndex).GetTipText(sTip);
    if (sTip.IsEmpty())
    {
        HideMenuTip(false);
        return;
    }
    CRect rcItem;
    GetItemRect(nIndex, rcItem, true);
    ClientToScreen(&rcItem);
    m_wndMenuTip.SetText(sTip);
    m_wndMenuTip.Show(this, rcItem);
}

bool CExtPopupMenuWnd::IsInputReady()
{
    if (GetSafeHwnd() == NULL || !::IsWindow(m_hWnd))
        return false;
    // Input waits for a running open animation (showing at once does not count).
    const int nKind = GetAnimationKind();
    if (!IsAnimationDone() && nKind != __AT_NONE && nKind != __AT_CONTENT_DISPLAY)
        return false;
    return !g_PopupTrackingSite.IsShutdownMode() && !g_PopupTrackingSite.IsEmpty() &&
           g_PopupTrackingSite.GetAnimatedMenu() == NULL;
}
