// The popup base window: animation state and timer, delayed show, deferred repaint,
// paint dispatch and the paint-manager bridge.
#include "toolkit/menus/popup_base_wnd.h"
#include "toolkit/core/resource_manager.h"
#include "toolkit/core/message_point.h"
#include "toolkit/menus/popup_menu_wnd.h"
#include "toolkit/menus/sound_player.h"

#include <stdlib.h>
#include <time.h>

IMPLEMENT_DYNCREATE(CExtPopupBaseWnd, CWnd)

int CExtPopupBaseWnd::g_nDefaultAnimation = 4;
bool CExtPopupBaseWnd::g_bAnimationAllowed = true;
bool CExtPopupBaseWnd::g_bMenuWithShadows = true;
long CExtPopupBaseWnd::g_nLastAnimTick = 0;

CExtPopupBaseWnd::CExtPopupBaseWnd()
    : m_rcWndArea(0, 0, 0, 0), m_ptTrack(0, 0), m_nPbwFlags(0), m_pCbPaintCombinedCookie(NULL),
      m_pCbPaintCombinedContent(NULL), m_bCookieIsObject(false), m_nAnimationKind(g_nDefaultAnimation),
      m_nSoundEvent(0), m_nAnimPercent(0), m_nAnimPercentOld(0), m_nAnimFlags(0), m_nReserved1(1), m_nReserved2(1)
{
    m_pAnimBits[0] = m_pAnimBits[1] = m_pAnimBits[2] = NULL;
    RegisterWithHolder();
    // The constructor's reset is this class's own: while it runs the object is not yet of
    // any derived class.
    CExtPopupBaseWnd::ResetState();
}

CExtPopupBaseWnd::~CExtPopupBaseWnd()
{
    UnregisterFromHolder();
    for (CBitmap& bmp : m_bmpAnim)
        bmp.DeleteObject();
    m_pAnimBits[0] = m_pAnimBits[1] = m_pAnimBits[2] = NULL;
    m_shadow.Reset();
    m_shadowCombined.Reset();
    if (m_hWnd != NULL && ::IsWindow(m_hWnd))
        CWnd::DestroyWindow();
}

BEGIN_MESSAGE_MAP(CExtPopupBaseWnd, CWnd)
    ON_WM_PAINT()
    ON_WM_TIMER()
    ON_WM_SIZE()
    ON_WM_ERASEBKGND()
    ON_WM_NCPAINT()
    ON_WM_NCCALCSIZE()
    ON_WM_SETCURSOR()
    ON_WM_MOUSEACTIVATE()
END_MESSAGE_MAP()

// ---- bridge -------------------------------------------------------------------------------
void CExtPopupBaseWnd::RegisterWithHolder() { g_CurrentPaintManager.RegisterBridge(this); }
void CExtPopupBaseWnd::UnregisterFromHolder() { g_CurrentPaintManager.UnregisterBridge(this); }
HWND CExtPopupBaseWnd::GetBridgeHwnd() { return m_hWnd; }
CExtPaintManager* CExtPopupBaseWnd::GetPaintManager() { return g_CurrentPaintManager.GetPM(); }

// ---- virtual operations ---------------------------------------------------------------------
bool CExtPopupBaseWnd::IsLayoutRTL() { return (g_CurrentResourceManager->GetLangLayout() & 0x01) != 0; }

LPVOID CExtPopupBaseWnd::GetCombinedCookieObject() { return m_bCookieIsObject ? m_pCbPaintCombinedCookie : NULL; }

bool CExtPopupBaseWnd::IsCombinedWithParentItem() { return false; }
bool CExtPopupBaseWnd::IsUntrackedMode() { return false; }

void CExtPopupBaseWnd::ResetState()
{
    m_nAnimPercent = 0;
    m_nAnimPercentOld = 0;
    OnAdjustAnimationKind(&m_nAnimationKind);
    int& nKind = m_nAnimationKind;
    if (!((nKind >= 0 && nKind <= __AT_MAX_VALID) || nKind == __AT_CONTENT_DISPLAY || nKind == __AT_CONTENT_EXPAND))
        nKind = __AT_NONE;
    if (nKind == __AT_RANDOM)
    {
        nKind = rand() % 11;
        if (nKind == 0 || nKind == 1)
            nKind = 4;
    }
    if (CExtPaintManager::GetScreenBitsPerPixel() <= 8 && nKind >= 0 && nKind <= __AT_MAX_VALID)
    {
        m_nAnimFlags |= __PBW_ANIM_DONE;
        nKind = __AT_NONE;
        return;
    }
    if (nKind == __AT_NONE)
        m_nAnimFlags |= __PBW_ANIM_DONE;
    else
        m_nAnimFlags &= ~__PBW_ANIM_DONE;
}

void CExtPopupBaseWnd::AnimationStart()
{
    // Only the animation state: a menu's own reset would forget its placement.
    CExtPopupBaseWnd::ResetState();
    if (m_nAnimationKind == __AT_NONE)
        return;
    if (m_hWnd != NULL)
        ::SetTimer(m_hWnd, ID_TIMER_ANIMATION, ID_PERIOD_ANIMATION, NULL);
    g_nLastAnimTick = (long)clock();
}

void CExtPopupBaseWnd::OnAdjustAnimationKind(int*) {}

void CExtPopupBaseWnd::ReleaseCachedBitmaps()
{
    for (int i = 0; i < 3; i++)
    {
        if (m_bmpAnim[i].GetSafeHandle() != NULL)
            m_bmpAnim[i].DeleteObject();
        m_pAnimBits[i] = NULL;
    }
}

bool CExtPopupBaseWnd::IsShadowEnabled() { return g_bMenuWithShadows; }

void CExtPopupBaseWnd::OnPaintFull(CDC& dc) { OnPaintMenu(dc, true); }

int CExtPopupBaseWnd::GetShadowSize()
{
    if (!IsShadowEnabled())
        return 0;
    CExtPaintManager* pPM = GetPaintManager();
    return (pPM != NULL) ? pPM->GetMenuShadowSize() : 0;
}

void CExtPopupBaseWnd::OnPaintMenu(CDC&, bool) {}

void CExtPopupBaseWnd::PostRepaint()
{
    if (m_hWnd != NULL && ::IsWindow(m_hWnd))
        ::PostMessage(m_hWnd, WM_TIMER, ID_TIMER_DELAY_PAINT, 0);
}

void CExtPopupBaseWnd::GetPaintRect(RECT& rc)
{
    ::SetRectEmpty(&rc);
    if (m_hWnd != NULL)
        ::GetClientRect(m_hWnd, &rc);
}

bool CExtPopupBaseWnd::IsArrowCursorWanted() { return false; }

BOOL CExtPopupBaseWnd::DestroyWindow()
{
    AFX_MANAGE_STATE(AfxGetStaticModuleState());
    if (m_hWnd == NULL || !::IsWindow(m_hWnd))
        return TRUE;
    return CWnd::DestroyWindow();
}

// ---- messages -------------------------------------------------------------------------------
void CExtPopupBaseWnd::OnPaint()
{
    CPaintDC dc(this);
    if (m_hWnd == NULL || !IsWindowVisible())
        return;
    CExtPaintManager::ClipOutChildren(&dc, m_hWnd);
    if (IsAnimationDone())
        OnPaintMenu(dc, true);
    else
        OnPaintFull(dc);
}

void CExtPopupBaseWnd::OnAnimationTimer()
{
    const long nNow = (long)clock();
    if (!IsAnimationDone())
    {
        const long nElapsed = nNow - g_nLastAnimTick;
        const int nKind = m_nAnimationKind;
        if (nKind == __AT_CONTENT_EXPAND || (nKind >= 2 && nKind <= __AT_MAX_VALID))
        {
            m_nAnimPercentOld = m_nAnimPercent;
            m_nAnimPercent += 20;
            const int k = (int)(nElapsed / 30.0 + 0.5);
            if (m_nAnimPercent > 20 * k + 100)
                m_nAnimPercent = 101;
            if (m_nAnimPercent > 100)
                m_nAnimFlags |= __PBW_ANIM_DONE;
        }
        else if (nKind == __AT_CONTENT_DISPLAY)
            m_nAnimFlags |= __PBW_ANIM_DONE;
        const bool bDone = IsAnimationDone();
        if (bDone)
        {
            if (!IsUntrackedMode())
            {
                g_MenuSoundPlayer->PlaySound(m_nSoundEvent);
                m_nSoundEvent = 0;
            }
            if (m_hWnd != NULL)
                ::KillTimer(m_hWnd, ID_TIMER_ANIMATION);
            m_nAnimationKind = g_nDefaultAnimation;
        }
        if (m_hWnd != NULL && ::IsWindow(m_hWnd))
        {
            if (bDone)
                ReleaseCachedBitmaps();
            else
                ::InvalidateRect(m_hWnd, NULL, FALSE);
            g_nLastAnimTick = nNow;
        }
        if (!bDone)
            return;
    }
    if (IsKindOf(RUNTIME_CLASS(CExtPopupMenuWnd)))
        g_PopupTrackingSite.SetAnimatedMenu(NULL);
}

void CExtPopupBaseWnd::OnTimer(UINT_PTR nIDEvent)
{
    switch (nIDEvent)
    {
    case ID_TIMER_ANIMATION:
        OnAnimationTimer();
        return;
    case ID_TIMER_DELAY_SHOW:
        ::KillTimer(m_hWnd, ID_TIMER_DELAY_SHOW);
        ::ShowWindow(m_hWnd, SW_SHOWNA);
        ::InvalidateRect(m_hWnd, NULL, FALSE);
        ::UpdateWindow(m_hWnd);
        return;
    case ID_TIMER_DELAY_PAINT:
    {
        ::KillTimer(m_hWnd, ID_TIMER_DELAY_PAINT);
        CClientDC dc(this);
        OnPaintMenu(dc, true);
        return;
    }
    case ID_TIMER_TIP_IGNORED:
        return;
    default:
        CWnd::OnTimer(nIDEvent);
        return;
    }
}

void CExtPopupBaseWnd::OnSize(UINT nType, int cx, int cy)
{
    CWnd::OnSize(nType, cx, cy);
    ::InvalidateRect(m_hWnd, NULL, FALSE);
}

BOOL CExtPopupBaseWnd::OnEraseBkgnd(CDC*) { return TRUE; }
void CExtPopupBaseWnd::OnNcPaint() {}
void CExtPopupBaseWnd::OnNcCalcSize(BOOL, NCCALCSIZE_PARAMS*) {}

BOOL CExtPopupBaseWnd::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message)
{
    if (IsArrowCursorWanted())
    {
        ::SetCursor(::LoadCursor(NULL, IDC_ARROW));
        return TRUE;
    }
    return CWnd::OnSetCursor(pWnd, nHitTest, message);
}

int CExtPopupBaseWnd::MouseActivateTracked()
{
    if (::GetWindow(m_hWnd, GW_CHILD) == NULL)
        return MA_NOACTIVATEANDEAT;
    // The window the press was made on, not the one the pointer has moved to since.
    POINT pt = MessagePoint(m_hWnd, WM_MOUSEACTIVATE, 0);
    ::ClientToScreen(m_hWnd, &pt);
    HWND hWndUnder = ::WindowFromPoint(pt);
    if (hWndUnder != NULL && (::GetWindowLong(hWndUnder, GWL_STYLE) & WS_CHILD) != 0 &&
        ::GetParent(hWndUnder) == m_hWnd)
        return MA_ACTIVATE;
    return MA_NOACTIVATEANDEAT;
}

int CExtPopupBaseWnd::OnMouseActivate(CWnd*, UINT, UINT)
{
    if (!IsUntrackedMode())
        return MouseActivateTracked();
    ::SetWindowPos(m_hWnd, HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
    return MA_NOACTIVATE;
}
