// The tracking site and the thread hooks that route input to the tracked menu tree.
#include "toolkit/menus/popup_tracking_site.h"
#include "toolkit/menus/popup_menu_wnd.h"

#include <new>
#include <time.h>

CExtPopupBarServices g_PopupBarServices = {};
CExtPopupMenuWnd::TEAROFFNOTIFICATON* g_pActiveTearOff = NULL;

long CExtPopupTrackingSite::g_nLastKeyTime = 0;
int CExtPopupTrackingSite::g_nKeyInterval = 20;

CExtPopupTrackingSite g_PopupTrackingSite;

CExtPopupTrackingSite::CExtPopupTrackingSite()
    : m_nFlags(0), m_pTip(NULL), m_pTopMenu(NULL), m_pCurrentPopup(NULL), m_pAnimatedMenu(NULL), m_hMouseHook(NULL),
      m_hKeyboardHook(NULL), m_pResultCmdID(NULL)
{
}

CExtPopupTrackingSite::~CExtPopupTrackingSite()
{
    DoneInstance();
    if (m_pTip != NULL)
    {
        if (m_pTip->GetSafeHwnd() != NULL && ::IsWindow(m_pTip->GetSafeHwnd()))
            m_pTip->DestroyWindow();
        delete m_pTip;
        m_pTip = NULL;
    }
}

void CExtPopupTrackingSite::SetInstance(CExtPopupMenuWnd* pMenu)
{
    if (!IsEmpty())
    {
        if (pMenu == m_pTopMenu)
            return;
        DoneInstance();
    }
    if (pMenu == NULL)
        return;
    m_pTopMenu = pMenu;
    SetupHooks(true);
}

void CExtPopupTrackingSite::DoneInstance()
{
    if (m_pTip != NULL)
        m_pTip->Hide();
    m_nFlags |= __FLAG_SHUTDOWN;
    m_pCurrentPopup = NULL;
    m_pAnimatedMenu = NULL;
    m_pResultCmdID = NULL;
    if (m_pTopMenu != NULL)
    {
        CExtPopupMenuWnd* pMenu = m_pTopMenu;
        pMenu->UpdateFromMenu(NULL, true, false);
        HWND hWnd = pMenu->GetSafeHwnd();
        if (hWnd != NULL && ::IsWindow(hWnd))
        {
            HWND hWndOwner = ::GetWindow(hWnd, GW_OWNER);
            if (hWndOwner == NULL)
                hWndOwner = ::GetParent(hWnd);
            if (hWndOwner != NULL)
                g_PopupBarServices.ShowCommandStatusText(CWnd::FromHandle(hWndOwner), 0xE001);
            pMenu->DestroyWindow();
            // The destruction's own messages are handled now; a key or click that
            // arrives meanwhile stays queued: when one menu replaces another (Left or
            // Right on a menu bar) it belongs to the menu that tracks next, and the
            // hooks of this one would no longer route it. The windows it covered
            // repaint in the thread's own order, after the next menu shows.
            CExtPopupMenuWnd::stat_PumpPendingNonInputMessages(CExtPopupMenuWnd::g_bPumpCallsOnIdle);
        }
        // The pump may have ended this tracking already (a nested DoneInstance does
        // nothing while the shutdown bit stands, so the field is still ours).
        m_pTopMenu = NULL;
        delete pMenu;
    }
    SetupHooks(false);
    m_nFlags &= ~__FLAG_SHUTDOWN;
}

CExtPopupMenuTipWnd* CExtPopupTrackingSite::GetTip()
{
    if (m_pTip == NULL)
        m_pTip = new (std::nothrow) CExtPopupMenuTipWnd;
    return m_pTip;
}

void CExtPopupTrackingSite::SetupHooks(bool bInstall)
{
    if (bInstall)
    {
        if (m_hMouseHook == NULL)
            m_hMouseHook = ::SetWindowsHookEx(WH_MOUSE, MouseHookProc, NULL, ::GetCurrentThreadId());
        if (m_hKeyboardHook == NULL)
            m_hKeyboardHook = ::SetWindowsHookEx(WH_KEYBOARD, KeyboardHookProc, NULL, ::GetCurrentThreadId());
        return;
    }
    if (m_hMouseHook != NULL)
    {
        ::UnhookWindowsHookEx(m_hMouseHook);
        m_hMouseHook = NULL;
    }
    if (m_hKeyboardHook != NULL)
    {
        ::UnhookWindowsHookEx(m_hKeyboardHook);
        m_hKeyboardHook = NULL;
    }
}

namespace {

bool IsButtonMessage(UINT nMessage)
{
    switch (nMessage)
    {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONUP:
    case WM_NCRBUTTONDOWN:
    case WM_NCRBUTTONUP:
    case WM_NCMBUTTONDOWN:
    case WM_NCMBUTTONUP:
        return true;
    }
    return false;
}

bool IsLiveMenu(CExtPopupMenuWnd* pMenu)
{
    return pMenu != NULL && pMenu->GetSafeHwnd() != NULL && ::IsWindow(pMenu->GetSafeHwnd());
}

}  // namespace

bool CExtPopupTrackingSite::OnMouseHookEvent(UINT nMessage, MOUSEHOOKSTRUCT* pData)
{
    if (pData == NULL)
        return false;
    const POINT ptScreen = pData->pt;
    if (g_pActiveTearOff != NULL)
    {
        if (nMessage == WM_MOUSEMOVE)
        {
            if (g_pActiveTearOff->_OnHookMouseMove(nMessage, ptScreen.x, ptScreen.y))
                return true;
        }
        else if (IsButtonMessage(nMessage))
        {
            if (g_pActiveTearOff->_OnHookMouseButton(nMessage, ptScreen.x, ptScreen.y))
                return true;
        }
        else if (nMessage == WM_MOUSEWHEEL)
        {
            if (g_pActiveTearOff->_OnHookMouseWheel(nMessage, pData))
                return true;
        }
    }
    if (IsEmpty() || IsShutdownMode())
        return false;
    CExtPopupMenuWnd* pPopup = m_pCurrentPopup;
    if (!IsLiveMenu(pPopup))
        return true;
    if (nMessage == WM_MOUSEMOVE)
    {
        CPoint pt(ptScreen);
        ::ScreenToClient(pPopup->GetSafeHwnd(), &pt);
        bool bNoEat = false;
        return pPopup->OnMouseMoveTracked(nMessage, pt, bNoEat);
    }
    if (nMessage == WM_MOUSEWHEEL)
    {
        bool bNoEat = false;
        if (pPopup->OnMouseWheelTracked(nMessage, pData, bNoEat))
            return true;
        return !bNoEat;
    }
    if (!IsButtonMessage(nMessage))
        return false;
    HWND hWndPopup = pPopup->GetSafeHwnd();
    CPoint pt(ptScreen);
    ::ScreenToClient(hWndPopup, &pt);
    bool bNoEat = false;
    if (pPopup->OnMouseClickTracked(nMessage, pt, bNoEat))
        return true;
    if (!::IsWindow(hWndPopup))
        return true;
    if (bNoEat)
        return false;
    // Is the click on a menu of the chain, or on the tip of one?
    HWND hWndUnder = ::WindowFromPoint(ptScreen);
    for (CExtPopupMenuWnd* pMenu = pPopup; pMenu != NULL; pMenu = pMenu->GetParentMenu())
    {
        if (!IsLiveMenu(pMenu))
            continue;
        CPoint ptMenu(ptScreen);
        ::ScreenToClient(pMenu->GetSafeHwnd(), &ptMenu);
        if (pMenu->IsClientPointOnWindow(ptMenu))
            return true;
        CWnd* pTip = pMenu->GetMenuTipWnd();
        if (pTip != NULL && pTip->GetSafeHwnd() != NULL && hWndUnder == pTip->GetSafeHwnd())
            return true;
    }
    // A click outside closes the menus; a press still reaches the window under it.
    if (m_pTopMenu != NULL)
        m_pTopMenu->DestroyMenuWindow(false);
    if (nMessage == WM_LBUTTONDOWN || nMessage == WM_RBUTTONDOWN || nMessage == WM_MBUTTONDOWN)
        return false;
    return CExtPopupMenuWnd::g_bEatClicksOutside;
}

bool CExtPopupTrackingSite::OnKeyboardHookEvent(WPARAM wParam, LPARAM lParam)
{
    const UINT nChar = (UINT)wParam;
    const UINT nRepCnt = LOWORD(lParam);
    const UINT nFlags = HIWORD(lParam);
    const bool bRelease = (lParam & 0x80000000L) != 0;
    if (g_pActiveTearOff != NULL && g_pActiveTearOff->_OnHookKey(nChar, nRepCnt, nFlags))
        return true;
    CExtPopupMenuWnd* pPopup = m_pCurrentPopup;
    if (!IsEmpty() && !IsShutdownMode() && IsLiveMenu(pPopup))
    {
        if (bRelease)
            return true;
        const long nNow = (long)clock();
        long nDiff = nNow - g_nLastKeyTime;
        if (nDiff < 0)
            nDiff = -nDiff;
        bool bInplaceEdit = false;
        HWND hWndFocus = ::GetFocus();
        if (hWndFocus != NULL && (::GetWindowLong(hWndFocus, GWL_STYLE) & WS_CHILD) != 0)
        {
            CWnd* pParent = CWnd::FromHandlePermanent(::GetParent(hWndFocus));
            bInplaceEdit = pParent != NULL && pParent->IsKindOf(RUNTIME_CLASS(CExtPopupMenuWnd));
        }
        // Only a held key's auto-repeat is thinned out, so the selection does not race
        // ahead of the menu; a key pressed anew (its previous state up) is never lost,
        // however soon it follows the last one: fast typing and queued keys arrive this
        // way.
        const bool bAutoRepeat = (lParam & 0x40000000L) != 0;
        if (bAutoRepeat && nDiff < g_nKeyInterval && !bInplaceEdit)
            return true;
        g_nLastKeyTime = nNow;
        bool bNoEat = false;
        if (pPopup->OnKeyDown(nChar, nRepCnt, nFlags, bNoEat))
            return true;
        return !bNoEat;
    }
    if (!g_PopupBarServices.IsButtonMenuTracking() && bRelease && CExtPopupMenuWnd::IsModifierKeyDown(lParam))
    {
        CExtPopupMenuWnd::CancelMenuTracking();
        return false;
    }
    return true;
}

LRESULT CALLBACK CExtPopupTrackingSite::MouseHookProc(int nCode, WPARAM wParam, LPARAM lParam)
{
    AFX_MANAGE_STATE(AfxGetStaticModuleState());
    HHOOK hHook = g_PopupTrackingSite.m_hMouseHook;
    if (nCode == HC_ACTION && g_PopupTrackingSite.OnMouseHookEvent((UINT)wParam, (MOUSEHOOKSTRUCT*)lParam))
        return 1;
    return ::CallNextHookEx(hHook, nCode, wParam, lParam);
}

LRESULT CALLBACK CExtPopupTrackingSite::KeyboardHookProc(int nCode, WPARAM wParam, LPARAM lParam)
{
    AFX_MANAGE_STATE(AfxGetStaticModuleState());
    HHOOK hHook = g_PopupTrackingSite.m_hKeyboardHook;
    if (nCode == HC_ACTION && g_PopupTrackingSite.OnKeyboardHookEvent(wParam, lParam))
        return 1;
    return ::CallNextHookEx(hHook, nCode, wParam, lParam);
}
