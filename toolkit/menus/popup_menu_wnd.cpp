// The popup menu object: construction, its window's life, the menu-wide static services
// (tracking test, cancelling, the nested pump, the window-relationship test) and what the
// theme engine reads of menus through its query table.
#include "toolkit/menus/popup_menu_wnd.h"
#include "toolkit/core/cmd_tree.h"
#include "toolkit/core/resource_manager.h"
#include "toolkit/theme/pm_neighbours.h"
#include "toolkit/theme/pm_push_button.h"

IMPLEMENT_DYNCREATE(CExtPopupMenuWnd, CExtPopupBaseWnd)

// ---- registered messages --------------------------------------------------------------
const UINT CExtPopupMenuWnd::g_nMsgPrepareMenu = ::RegisterWindowMessage(_T("CExtPopupMenuWnd::g_nMsgPrepareMenu"));
const UINT CExtPopupMenuWnd::g_nMsgPrepareOneMenuLevel =
    ::RegisterWindowMessage(_T("CExtPopupMenuWnd::g_nMsgPrepareOneMenuLevel"));
const UINT CExtPopupMenuWnd::g_nMsgPrepareDesktopBk =
    ::RegisterWindowMessage(_T("CExtPopupMenuWnd::g_nMsgPrepareDesktopBk"));
const UINT CExtPopupMenuWnd::g_nMsgPopupNext = ::RegisterWindowMessage(_T("CExtPopupMenuWnd::g_nMsgPopupNext"));
const UINT CExtPopupMenuWnd::g_nMsgPopupPrev = ::RegisterWindowMessage(_T("CExtPopupMenuWnd::g_nMsgPopupPrev"));
const UINT CExtPopupMenuWnd::g_nMsgNotifyMenuExpanded =
    ::RegisterWindowMessage(_T("CExtPopupMenuWnd::g_nMsgNotifyMenuExpanded"));
const UINT CExtPopupMenuWnd::g_nMsgNotifyMenuClosed =
    ::RegisterWindowMessage(_T("CExtPopupMenuWnd::g_nMsgNotifyMenuClosed"));
const UINT CExtPopupMenuWnd::g_nMsgPopupDrawItem = ::RegisterWindowMessage(_T("CExtPopupMenuWnd::g_nMsgPopupDrawItem"));
const UINT CExtPopupMenuWnd::g_nMsgPopupDrawLeftArea =
    ::RegisterWindowMessage(_T("CExtPopupMenuWnd::g_nMsgPopupDrawLeftArea"));
const UINT CExtPopupMenuWnd::g_nMsgPopupDrawBackground =
    ::RegisterWindowMessage(_T("CExtPopupMenuWnd::g_nMsgPopupDrawBackground"));
const UINT CExtPopupMenuWnd::g_nMsgCreateInplaceEdit =
    ::RegisterWindowMessage(_T("CExtPopupMenuWnd::g_nMsgCreateInplaceEdit"));
const UINT CExtPopupMenuWnd::g_nMsgItemCoveringNotification =
    ::RegisterWindowMessage(_T("CExtPopupMenuWnd::g_nMsgItemCoveringNotification"));
const UINT CExtPopupMenuWnd::g_nMsgTearOff = ::RegisterWindowMessage(_T("CExtPopupMenuWnd::g_nMsgTearOff"));
const UINT CExtPopupMenuWnd::g_nMsgCustomFloatPos =
    ::RegisterWindowMessage(_T("CExtPopupMenuWnd::g_nMsgCustomFloatPos"));

// ---- option globals ---------------------------------------------------------------------
bool CExtPopupMenuWnd::g_bHideRarelyUsedItems = true;
bool CExtPopupMenuWnd::g_bExpandOnHover = true;
bool CExtPopupMenuWnd::g_bHighlightRarelyUsed = true;
bool CExtPopupMenuWnd::g_bShowMenuTips = true;
bool CExtPopupMenuWnd::g_bExpandAnimation = true;
bool CExtPopupMenuWnd::g_bEatClicksOutside = true;
bool CExtPopupMenuWnd::g_bUseWorkArea = true;
bool CExtPopupMenuWnd::g_bPumpCallsOnIdle = false;

// ---- what the theme engine asks of menus -----------------------------------------------
namespace {

CExtPopupBaseWnd* AsPopup(CObject* p)
{
    return (p != NULL && p->IsKindOf(RUNTIME_CLASS(CExtPopupBaseWnd))) ? static_cast<CExtPopupBaseWnd*>(p) : NULL;
}

CExtPopupMenuWnd* AsMenu(CObject* p)
{
    return (p != NULL && p->IsKindOf(RUNTIME_CLASS(CExtPopupMenuWnd))) ? static_cast<CExtPopupMenuWnd*>(p) : NULL;
}

struct ThemeQueriesInstaller
{
    ThemeQueriesInstaller()
    {
        CExtPmNeighbours::MenuQueries& q = CExtPmNeighbours::g_menus;
        q.pPopupMenuClass = RUNTIME_CLASS(CExtPopupMenuWnd);
        q.pfnIsLayoutRTL = [](CObject* p) {
            CExtPopupBaseWnd* pPopup = AsPopup(p);
            return pPopup != NULL && pPopup->IsLayoutRTL();
        };
        q.pfnGetCombinedObject = [](CObject* p) -> CObject* {
            CExtPopupBaseWnd* pPopup = AsPopup(p);
            return pPopup != NULL ? (CObject*)pPopup->GetCombinedCookieObject() : NULL;
        };
        q.pfnUsesDefaultCombinePainter = [](CObject* p) {
            CExtPopupBaseWnd* pPopup = AsPopup(p);
            return pPopup != NULL && pPopup->IsCombinedWithParentItem();
        };
        q.pfnLastItem = [](CObject* p, int& nLeftAreaWidth, DWORD& dwItemFlags) {
            CExtPopupMenuWnd* pMenu = AsMenu(p);
            if (pMenu == NULL || pMenu->ItemGetCount() == 0)
                return false;
            const CExtPopupMenuWnd::MENUITEMDATA& mi = pMenu->ItemGetInfo(pMenu->ItemGetCount() - 1);
            nLeftAreaWidth = mi.GetIconAreaWidth();
            dwItemFlags = mi.m_nLayoutFlags;
            return true;
        };
        CExtPaintManager::PAINTBUTTONDATA::g_pfnPopupMenuRTL = [](const CObject* p) {
            CExtPopupBaseWnd* pPopup = AsPopup(const_cast<CObject*>(p));
            return pPopup != NULL && pPopup->IsLayoutRTL();
        };
    }
};
ThemeQueriesInstaller g_themeQueriesInstaller;

// Lets the thread do its idle work, as its loop does once the queue is empty.
void RunIdle(CWinThread* pThread)
{
    if (pThread == NULL)
        return;
    LONG nCount = 0;
    while (pThread->OnIdle(nCount))
        nCount++;
}

}  // namespace

// ---- construction -----------------------------------------------------------------------
CExtPopupMenuWnd::CExtPopupMenuWnd()
    : m_dwTrackFlags(0), m_pSourceNode(NULL), m_nLeftAreaWidth(0), m_hWndCmdReceiver(NULL), m_pParentMenu(NULL),
      m_nMenuFlags(0), m_nCurIndex(-1), m_sizeContent(0, 0), m_pCustomizeSite(NULL), m_nHoverIndex(-1),
      m_nMouseItem(-1), m_nExpandCounter(0), m_nScrollPos(0), m_nScrollingDelta(0), m_nCombineSide(0),
      m_rcMenu(0, 0, 0, 0), m_rcScrollTop(0, 0, 0, 0), m_rcScrollBottom(0, 0, 0, 0), m_rcExpand(0, 0, 0, 0),
      m_rcTearOff(0, 0, 0, 0)
{
    m_nScrollStep = 5;
    m_nScrollAccelTime = 0;
    m_nDropPos = -1;
    m_nDragFlags = 0;
    m_nDragCounter1 = m_nDragCounter2 = 0;
    m_nDragMarker = 0;
}

CExtPopupMenuWnd::~CExtPopupMenuWnd()
{
    // A tracked root deleted by its owner stops being tracked first, so that destroying
    // its window below does not end the tracking by deleting it a second time.
    if (g_PopupTrackingSite.IsTopMenu(this))
    {
        g_PopupTrackingSite.m_pTopMenu = NULL;
        g_PopupTrackingSite.m_pCurrentPopup = NULL;
        g_PopupTrackingSite.SetupHooks(false);
    }
    if (g_PopupTrackingSite.GetCurrentPopup() == this)
        g_PopupTrackingSite.SetCurrentPopup(NULL);
    if (g_PopupTrackingSite.GetAnimatedMenu() == this)
        g_PopupTrackingSite.SetAnimatedMenu(NULL);
    DestroyMenuWindow(false);
    if (IsTopLevel())
        RemoveAllItems(false);
}

BEGIN_MESSAGE_MAP(CExtPopupMenuWnd, CExtPopupBaseWnd)
    ON_WM_CANCELMODE()
    ON_WM_MOUSEACTIVATE()
    ON_WM_TIMER()
    ON_WM_ACTIVATEAPP()
    ON_WM_SETCURSOR()
    ON_WM_SHOWWINDOW()
    ON_WM_MOUSEMOVE()
END_MESSAGE_MAP()

DWORD CExtPopupMenuWnd::SetTrackFlags(DWORD dwTrackFlags)
{
    m_dwTrackFlags = dwTrackFlags;
    return m_dwTrackFlags;
}

CExtPopupTrackingSite& CExtPopupMenuWnd::GetTrackingSite() { return g_PopupTrackingSite; }

CExtPopupMenuWnd* CExtPopupMenuWnd::GetTrackingMenu()
{
    CExtPopupMenuWnd* pMenu = g_PopupTrackingSite.GetInstance();
    if (pMenu == NULL || pMenu->GetSafeHwnd() == NULL || !::IsWindow(pMenu->GetSafeHwnd()))
        return NULL;
    return pMenu;
}

bool CExtPopupMenuWnd::IsLayoutRTL()
{
    if (m_pParentMenu != NULL)
        return m_pParentMenu->IsLayoutRTL();
    return CExtPopupBaseWnd::IsLayoutRTL();
}

bool CExtPopupMenuWnd::IsUntrackedMode()
{
    for (CExtPopupMenuWnd* pMenu = this; pMenu != NULL; pMenu = pMenu->m_pParentMenu)
        if ((pMenu->m_dwTrackFlags & TMF_UNTRACKED) != 0)
            return true;
    return false;
}

bool CExtPopupMenuWnd::IsCombinedWithParentItem()
{
    return m_pCbPaintCombinedContent == stat_PaintParentItemCallback;
}

// The combined area of a sub-menu is its parent's item (the cookie is the item index):
// it is painted where the item lies, the sub-menu's exclude rectangle.
void CExtPopupMenuWnd::stat_PaintParentItemCallback(LPVOID pCookie, CDC& dc, const CWnd& wndPopup, const CRect&,
                                                    int)
{
    CExtPopupMenuWnd* pSub = DYNAMIC_DOWNCAST(CExtPopupMenuWnd, const_cast<CWnd*>(&wndPopup));
    if (pSub == NULL || pSub->m_pParentMenu == NULL)
        return;
    pSub->m_pParentMenu->PaintParentItemCombined((int)(INT_PTR)pCookie, &dc, pSub, &pSub->m_rcWndArea);
}

void CExtPopupMenuWnd::RelayoutAfterChange()
{
    if (IsTopLevel())
        RecalcLayout();
    else if (m_pParentMenu != NULL)
        m_pParentMenu->RecalcLayout();
}

// ---- the window -------------------------------------------------------------------------
BOOL CExtPopupMenuWnd::DestroyWindow()
{
    for (int i = 0; i < ItemGetCount(); i++)
    {
        MENUITEMDATA& mi = m_items.ElementAt(i);
        if (mi.m_pWndInplaceEdit != NULL)
        {
            if (mi.m_pWndInplaceEdit->GetSafeHwnd() != NULL)
                mi.m_pWndInplaceEdit->DestroyWindow();
            mi.m_pWndInplaceEdit = NULL;
        }
    }
    if (IsUntrackedMode())
        if (CExtCustomizeSite* pSite = GetCustomizeSite())
            pSite->DropTargetUnregister(this);
    return CExtPopupBaseWnd::DestroyWindow();
}

void CExtPopupMenuWnd::PostNcDestroy()
{
    // The root's window is gone: tell the receiver and end the tracking, which deletes
    // this object when it is the tracked tree.
    if (m_pParentMenu == NULL && !IsUntrackedMode())
    {
        if (m_hWndCmdReceiver != NULL && ::IsWindow(m_hWndCmdReceiver))
            ::SendMessage(m_hWndCmdReceiver, g_nMsgNotifyMenuClosed, 0, (LPARAM)this);
        if (g_PopupTrackingSite.IsTopMenu(this) && !g_PopupTrackingSite.IsShutdownMode())
            g_PopupTrackingSite.DoneInstance();
    }
}

bool CExtPopupMenuWnd::IsClientPointOnWindow(POINT ptClient)
{
    HWND hWnd = GetSafeHwnd();
    if (hWnd == NULL || !::IsWindow(hWnd))
        return false;
    POINT pt = ptClient;
    ::ClientToScreen(hWnd, &pt);
    return ::WindowFromPoint(pt) == hWnd;
}

void CExtPopupMenuWnd::DestroyMenuWindow(bool bKeepWindow)
{
    HWND hWndMain = NULL;
    if (CWinThread* pThread = AfxGetThread())
        if (pThread->m_pMainWnd != NULL)
            hWndMain = pThread->m_pMainWnd->GetSafeHwnd();
    if (hWndMain != NULL)
        g_PopupBarServices.ShowCommandStatusText(CWnd::FromHandle(hWndMain), 0xE001);
    const bool bUntracked = IsUntrackedMode();
    if (!bUntracked)
    {
        HideMenuTip(false);
        if (GetSafeHwnd() != NULL && ::IsWindow(m_hWnd))
            ReleaseAnimationResources();
        if (g_PopupTrackingSite.GetAnimatedMenu() == this)
            g_PopupTrackingSite.SetAnimatedMenu(NULL);
        if (g_PopupTrackingSite.GetCurrentPopup() == this && !g_PopupTrackingSite.IsEmpty() &&
            !g_PopupTrackingSite.IsShutdownMode())
            g_PopupTrackingSite.SetCurrentPopup(NULL);
    }
    for (int i = 0; i < ItemGetCount(); i++)
    {
        MENUITEMDATA& mi = m_items.ElementAt(i);
        mi.m_nLayoutFlags &= ~MENUITEMDATA::__MIF_SELECTED;
        if (mi.IsPopup() && mi.m_pPopup != NULL && mi.m_pPopup->GetSafeHwnd() != NULL)
            mi.m_pPopup->DestroyMenuWindow(false);
    }
    m_nCurIndex = -1;
    m_nMouseItem = -1;
    m_nHoverIndex = -1;
    HWND hWnd = GetSafeHwnd();
    if (bKeepWindow || hWnd == NULL || !::IsWindow(hWnd))
        return;
    const bool bRoot = m_pParentMenu == NULL;
    ::ShowWindow(hWnd, SW_HIDE);
    if (!bUntracked)
        OnHoverItem(-1);
    // Destroying a tracked root ends the tracking, which deletes this object: nothing of
    // it is touched after DestroyWindow.
    if (!bUntracked && ::IsWindow(hWnd))
        DestroyWindow();
    if (g_PopupBarServices.IsButtonMenuTracking() && bRoot && !bUntracked)
        g_PopupBarServices.CancelAllButtonMenuTracking();
}

// The wheel never scrolls a menu; it is eaten while a menu tracks.
bool CExtPopupMenuWnd::OnMouseWheelTracked(UINT, MOUSEHOOKSTRUCT*, bool&) { return true; }

void CExtPopupMenuWnd::OnCancelMode()
{
    if (g_pActiveTearOff != NULL || IsUntrackedMode())
        return;
    g_PopupTrackingSite.DoneInstance();
    if (g_PopupBarServices.IsButtonMenuTracking())
        g_PopupBarServices.CancelAllButtonMenuTracking();
}

int CExtPopupMenuWnd::OnMouseActivate(CWnd*, UINT, UINT)
{
    if (!IsUntrackedMode())
        return MouseActivateTracked();
    // An untracked tree comes to the top as a whole.
    BringTreeToTop();
    return MA_NOACTIVATE;
}

void CExtPopupMenuWnd::BringChainToTop(HWND hWndInsertAfter)
{
    HWND hWnd = GetSafeHwnd();
    if (hWnd == NULL || !::IsWindow(hWnd))
        return;
    ::SetWindowPos(hWnd, (hWndInsertAfter != NULL) ? hWndInsertAfter : HWND_TOP, 0, 0, 0, 0,
                   SWP_NOSIZE | SWP_NOMOVE | SWP_NOREDRAW | SWP_NOACTIVATE);
    {
        CClientDC dc(this);
        OnPaintMenu(dc, true);
    }
    if (m_pParentMenu != NULL)
        m_pParentMenu->BringChainToTop(hWnd);
}

void CExtPopupMenuWnd::BringTreeToTop()
{
    CExtPopupMenuWnd* pDeepest = this;
    for (;;)
    {
        if (pDeepest->m_nCurIndex < 0 || pDeepest->m_nCurIndex >= pDeepest->ItemGetCount())
            break;
        CExtPopupMenuWnd* pSub = pDeepest->m_items.ElementAt(pDeepest->m_nCurIndex).m_pPopup;
        if (pSub == NULL || pSub->GetSafeHwnd() == NULL || !pSub->IsWindowVisible())
            break;
        pDeepest = pSub;
    }
    pDeepest->BringChainToTop(NULL);
}

// ---- static services --------------------------------------------------------------------
BOOL CExtPopupMenuWnd::IsMenuTracking() { return g_PopupTrackingSite.IsEmpty() ? FALSE : TRUE; }

void CExtPopupMenuWnd::CancelMenuTracking()
{
    if (g_PopupTrackingSite.IsEmpty() || g_PopupTrackingSite.IsShutdownMode() || g_pActiveTearOff != NULL)
        return;
    g_PopupTrackingSite.DoneInstance();
}

void CExtPopupMenuWnd::stat_PumpPendingNonInputMessages(bool bCallOnIdle)
{
    // Not PM_QS_POSTMESSAGE: it also takes timer messages. Nor paints: when a menu closes
    // because the next one opens (Left or Right on a menu bar), repainting the windows it
    // covered first would hold the next one back for as long as they take.
    const UINT nFilter = (QS_SENDMESSAGE | QS_POSTMESSAGE) << 16;
    CWinThread* pThread = AfxGetThread();
    MSG msg;
    while (::PeekMessage(&msg, NULL, 0, 0, PM_REMOVE | nFilter))
    {
        if (msg.message == WM_QUIT)
        {
            ::PostQuitMessage((int)msg.wParam);
            return;
        }
        if (pThread != NULL && pThread->PreTranslateMessage(&msg))
            continue;
        ::TranslateMessage(&msg);
        ::DispatchMessage(&msg);
    }
    if (bCallOnIdle)
        RunIdle(pThread);
}

void CExtPopupMenuWnd::stat_PumpPendingMessages(bool bCallOnIdle)
{
    CWinThread* pThread = AfxGetThread();
    MSG msg;
    while (::PeekMessage(&msg, NULL, 0, 0, PM_NOREMOVE))
    {
        BOOL bGoOn;
        if (pThread != NULL)
            bGoOn = pThread->PumpMessage();
        else
        {
            // No framework thread object (a plain thread): dispatch as its loop would.
            bGoOn = ::GetMessage(&msg, NULL, 0, 0) > 0;
            if (bGoOn)
            {
                ::TranslateMessage(&msg);
                ::DispatchMessage(&msg);
            }
        }
        if (!bGoOn)
        {
            ::PostQuitMessage(0);
            return;
        }
    }
    if (bCallOnIdle)
        RunIdle(pThread);
}

bool CExtPopupMenuWnd::stat_TestWindowsShareParent(HWND hWndA, HWND hWndB, bool bRequireEnabled,
                                                   bool bRequireVisible, bool bFailWhileTracking)
{
    if (bFailWhileTracking && IsMenuTracking())
        return false;
    if (hWndA == NULL || hWndB == NULL || !::IsWindow(hWndA) || !::IsWindow(hWndB))
        return false;
    if (bRequireEnabled && (!::IsWindowEnabled(hWndA) || !::IsWindowEnabled(hWndB)))
        return false;
    if (bRequireVisible && ((::GetWindowLong(hWndA, GWL_STYLE) & WS_VISIBLE) == 0 ||
                            (::GetWindowLong(hWndB, GWL_STYLE) & WS_VISIBLE) == 0))
        return false;
    const DWORD dwMask = WS_POPUP | WS_VISIBLE;
    for (HWND hWndAncestor = ::GetParent(hWndA); hWndAncestor != NULL; hWndAncestor = ::GetParent(hWndAncestor))
    {
        if ((::GetWindowLong(hWndAncestor, GWL_STYLE) & dwMask) == 0)
            continue;
        if (hWndAncestor == hWndB)
            return true;
        for (HWND hWndWalk = hWndB; hWndWalk != NULL; hWndWalk = ::GetParent(hWndWalk))
        {
            if ((::GetWindowLong(hWndWalk, GWL_STYLE) & dwMask) == 0)
                continue;
            if (hWndWalk == hWndAncestor)
                return true;
        }
    }
    return false;
}

BOOL CExtPopupMenuWnd::IsModifierKeyDown(LPARAM lParam)
{
    if ((lParam & (1L << 29)) != 0)
        return TRUE;
    static const int g_keys[] = {VK_MENU,    VK_RMENU, VK_LMENU,  VK_CONTROL, VK_RCONTROL,
                                 VK_LCONTROL, VK_SHIFT, VK_RSHIFT, VK_LSHIFT};
    for (int nKey : g_keys)
        if ((::GetKeyState(nKey) & 0x8000) != 0)
            return TRUE;
    return FALSE;
}

bool CExtPopupMenuWnd::stat_RelayDateSelection(LPVOID pCookie, LPARAM)
{
    // The cookie is the command-tree node; only a customize site takes the value, and
    // none is registered in this program.
    (void)pCookie;
    return false;
}

int CExtPopupMenuWnd::stat_GetSeparatorHeight(CExtPaintManager* pPM)
{
    if (pPM == NULL)
        pPM = g_CurrentPaintManager.GetPM();
    if (pPM == NULL)
        return 6;
    // The base theme draws an etched separator; the flat themes a one-pixel line.
    return pPM->GetThemeId() == CExtPaintManager::ThemeIdBase ? 6 : 1;
}

// The menu's own cursors: the help cursor in context-help mode, the move cursor over the
// tear-off caption and the text cursor over an active in-place edit part.
BOOL CExtPopupMenuWnd::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message)
{
    if (IsContextHelpMode())
    {
        HCURSOR hCursor = ::LoadCursor(AfxGetResourceHandle(), MAKEINTRESOURCE(AFX_IDC_CONTEXTHELP));
        ::SetCursor((hCursor != NULL) ? hCursor : ::LoadCursor(NULL, IDC_HELP));
        return TRUE;
    }
    CPoint pt;
    if (GetSafeHwnd() != NULL && ::GetCursorPos(&pt))
    {
        ScreenToClient(&pt);
        if (IsTearOffEnabled() && m_rcTearOff.PtInRect(pt))
        {
            ::SetCursor(::LoadCursor(NULL, IDC_SIZEALL));
            return TRUE;
        }
        const bool bRTL = IsLayoutRTL();
        for (int i = 0; i < ItemGetCount(); i++)
        {
            const MENUITEMDATA& mi = m_items.GetAt(i);
            if (!mi.IsInplaceEdit() || !mi.IsInplaceEditActive() || !mi.IsDisplayed())
                continue;
            CRect rcItem, rcEdit;
            GetItemRect(i, rcItem, true);
            mi.GetInplaceEditRect(rcEdit, rcItem, bRTL);
            if (rcEdit.PtInRect(pt))
            {
                ::SetCursor(::LoadCursor(NULL, IDC_IBEAM));
                return TRUE;
            }
        }
    }
    return CExtPopupBaseWnd::OnSetCursor(pWnd, nHitTest, message);
}

// An untracked menu takes no part in tracking's own repaints: it paints when shown.
void CExtPopupMenuWnd::OnShowWindow(BOOL bShow, UINT nStatus)
{
    CExtPopupBaseWnd::OnShowWindow(bShow, nStatus);
    if (bShow && IsUntrackedMode() && GetSafeHwnd() != NULL)
    {
        CClientDC dc(this);
        OnPaintMenu(dc, true);
    }
}

// A tracked menu gets its moves from the mouse hook; an untracked one scrolls from its own.
void CExtPopupMenuWnd::OnMouseMove(UINT nFlags, CPoint point)
{
    if (IsUntrackedMode())
    {
        const int nHit = HitTest(point);
        if ((nHit == IDX_SCROLL_TOP || nHit == IDX_SCROLL_BOTTOM) && m_nCurIndex != nHit)
            StartScrolling(nHit);
    }
    CExtPopupBaseWnd::OnMouseMove(nFlags, point);
}
