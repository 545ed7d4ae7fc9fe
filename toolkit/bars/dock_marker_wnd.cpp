// The dock marker windows: creation, painting, the hover check, fading and the two
// marker sets. The markers never take the capture from the dragged bar, so the hover is a
// timer check of the window under the cursor rather than mouse tracking.
#include "toolkit/bars/dock_marker_wnd.h"
#include "toolkit/bars/dyn_control_bar.h"
#include "toolkit/bars/dyn_tab_control_bar.h"
#include "toolkit/theme/pm_dock_markers.h"

IMPLEMENT_DYNAMIC(CExtDynDockMarkerWnd, CWnd)

BEGIN_MESSAGE_MAP(CExtDynDockMarkerWnd, CWnd)
    ON_WM_MOUSEACTIVATE()
    ON_WM_PAINT()
    ON_WM_TIMER()
    ON_MESSAGE(WM_PRINT, OnPrint)
    ON_MESSAGE(WM_PRINTCLIENT, OnPrint)
END_MESSAGE_MAP()

const char* const CExtDynDockMarkerWnd::g_sWndClassName = "Kestrix-DynDockMarker";
CPtrArray CExtDynDockMarkerWnd::g_arrOuterMarkers;
CPtrArray CExtDynDockMarkerWnd::g_arrInnerMarkers;
CWnd* CExtDynDockMarkerWnd::g_pHostWnd = NULL;
HWND CExtDynDockMarkerWnd::g_hWndInnerTarget = NULL;

namespace {

bool RegisterOneClass(const char* sClassName)
{
    HINSTANCE hInst = AfxGetInstanceHandle();
    WNDCLASSA wc;
    if (::GetClassInfoA(hInst, sClassName, &wc))
        return true;
    ::ZeroMemory(&wc, sizeof(wc));
    wc.style = CS_GLOBALCLASS;
    wc.lpfnWndProc = ::DefWindowProcA;
    wc.hInstance = hInst;
    wc.hCursor = ::LoadCursor(NULL, IDC_ARROW);
    wc.lpszClassName = sClassName;
    return ::RegisterClassA(&wc) != 0;
}

// The paint manager's marker objects make their windows through these.
struct MarkerHooksInstaller
{
    MarkerHooksInstaller()
    {
        CExtPmDockMarkerHooks::Hooks& h = CExtPmDockMarkerHooks::g_hooks;
        h.pfnCreateMarkerWnd = [](CWnd* pWndTarget, int nKind, const CExtBitmap& bmpFirst,
                                  const CExtBitmap& bmpSecond, HRGN hRgn, const RECT& rc,
                                  const CExtBitmap& bmpFrame, int nOffsetX, int nOffsetY,
                                  bool bStandAlone) -> CWnd* {
            CExtDynDockMarkerWnd* pMarker =
                new CExtDynDockMarkerWnd(pWndTarget != NULL ? pWndTarget->GetSafeHwnd() : NULL, nKind, bmpFirst,
                                         bmpSecond, hRgn, rc, bmpFrame, nOffsetX, nOffsetY, bStandAlone);
            if (pMarker->GetSafeHwnd() == NULL)
            {
                delete pMarker;
                return NULL;
            }
            return pMarker;
        };
        h.pfnShowMarkers = [](CPtrArray& arr, bool bAnimate) { CExtDynDockMarkerWnd::DestroyMarkers(arr, bAnimate); };
    }
};
const MarkerHooksInstaller g_markerHooksInstaller;

}  // namespace

// ---- construction ----------------------------------------------------------------------

CExtDynDockMarkerWnd::CExtDynDockMarkerWnd(HWND hWndTarget, int nKind, const CExtBitmap& bmpHover,
                                           const CExtBitmap& bmpNormal, HRGN hRgn, const RECT& rc,
                                           const CExtBitmap& bmpBackground, int nImageOffsetX, int nImageOffsetY,
                                           bool bOuter)
    : m_hWndLinkedMarker(NULL), m_nKind(nKind), m_bStandAloneOuter(bOuter), m_nHoverState(0), m_bOuter(bOuter),
      m_pHighlight(NULL), m_hWndTarget(hWndTarget), m_ptImageOffset(nImageOffsetX, nImageOffsetY), m_nFadeFlags(0),
      m_nOpacity(100)
{
    m_bmpHover = bmpHover;
    m_bmpNormal = bmpNormal;
    if (!bmpBackground.IsEmpty())
        m_bmpBackground = bmpBackground;
    RegisterWithHolder();
    CreateMarkerWindow(hRgn, rc);
}

CExtDynDockMarkerWnd::CExtDynDockMarkerWnd(HWND hWndTarget, int nKind, UINT nHoverBitmapID, UINT nNormalBitmapID,
                                           HRGN hRgn, int nLeft, int nTop, int nRight, int nBottom,
                                           UINT nBackgroundBitmapID, int nImageOffsetX, int nImageOffsetY,
                                           bool bOuter)
    : m_hWndLinkedMarker(NULL), m_nKind(nKind), m_bStandAloneOuter(bOuter), m_nHoverState(0), m_bOuter(bOuter),
      m_pHighlight(NULL), m_hWndTarget(hWndTarget), m_ptImageOffset(nImageOffsetX, nImageOffsetY), m_nFadeFlags(0),
      m_nOpacity(100)
{
    m_bmpHover.LoadFromResource(MAKEINTRESOURCE(nHoverBitmapID));
    m_bmpNormal.LoadFromResource(MAKEINTRESOURCE(nNormalBitmapID));
    if (nBackgroundBitmapID != 0)
        m_bmpBackground.LoadFromResource(MAKEINTRESOURCE(nBackgroundBitmapID));
    RegisterWithHolder();
    const RECT rc = {nLeft, nTop, nRight, nBottom};
    CreateMarkerWindow(hRgn, rc);
}

void CExtDynDockMarkerWnd::CreateMarkerWindow(HRGN hRgn, const RECT& rc)
{
    if (hRgn != NULL)
        m_rgnShape.Attach(hRgn);
    CWnd* pHost = GetHostWnd();
    if (pHost == NULL)
        return;
    if (!CreateEx(WS_EX_TOPMOST, g_sWndClassName, "", WS_POPUP, rc.left, rc.top, rc.right - rc.left,
                  rc.bottom - rc.top, pHost->GetSafeHwnd(), NULL))
        return;
    if (m_rgnShape.GetSafeHandle() != NULL)
    {
        // The window owns the region from now on.
        ::SetWindowRgn(m_hWnd, (HRGN)m_rgnShape.Detach(), FALSE);
    }
    SetTimer(__TIMER_HOVER, 50, NULL);
}

CExtDynDockMarkerWnd::~CExtDynDockMarkerWnd()
{
    ShowHighlight(false);
    m_bmpHover.Empty();
    m_bmpNormal.Empty();
    m_bmpBackground.Empty();
    m_rgnShape.DeleteObject();
    UnregisterFromHolder();
}

bool CExtDynDockMarkerWnd::RegisterMarkerClasses()
{
    return RegisterOneClass(g_sWndClassName) && RegisterOneClass(CExtDynDockHighlightWnd::g_sWndClassName);
}

CWnd* CExtDynDockMarkerWnd::GetHostWnd()
{
    if (g_pHostWnd != NULL && g_pHostWnd->GetSafeHwnd() != NULL && ::IsWindow(g_pHostWnd->GetSafeHwnd()))
        return g_pHostWnd;
    if (!RegisterMarkerClasses())
        return NULL;
    if (g_pHostWnd != NULL)
    {
        // The host went with the desktop session (a test's teardown): make it again.
        g_pHostWnd->Detach();
        delete g_pHostWnd;
        g_pHostWnd = NULL;
    }
    CWnd* pHost = new CWnd;
    if (!pHost->CreateEx(WS_EX_TOPMOST, g_sWndClassName, "", WS_POPUP, 0, 0, 0, 0, ::GetDesktopWindow(), NULL))
    {
        delete pHost;
        return NULL;
    }
    g_pHostWnd = pHost;
    return g_pHostWnd;
}

BOOL CExtDynDockMarkerWnd::PreCreateWindow(CREATESTRUCT& cs)
{
    if (!RegisterMarkerClasses() || !CWnd::PreCreateWindow(cs))
        return FALSE;
    cs.lpszClass = g_sWndClassName;
    return TRUE;
}

BOOL CExtDynDockMarkerWnd::DestroyWindow()
{
    ShowHighlight(false);
    return CWnd::DestroyWindow();
}

void CExtDynDockMarkerWnd::PostNcDestroy()
{
    CWnd::PostNcDestroy();
    for (CPtrArray* pArr : {&g_arrOuterMarkers, &g_arrInnerMarkers})
        for (INT_PTR i = pArr->GetSize() - 1; i >= 0; i--)
            if (pArr->GetAt(i) == this)
                pArr->RemoveAt(i);
    delete this;
}

void CExtDynDockMarkerWnd::RegisterWithHolder() { g_CurrentPaintManager.RegisterBridge(this); }
void CExtDynDockMarkerWnd::UnregisterFromHolder() { g_CurrentPaintManager.UnregisterBridge(this); }
HWND CExtDynDockMarkerWnd::GetBridgeHwnd() { return m_hWnd; }
CExtPaintManager* CExtDynDockMarkerWnd::GetPaintManager() { return g_CurrentPaintManager.GetPM(); }

// ---- queries ---------------------------------------------------------------------------

bool CExtDynDockMarkerWnd::IsDockingKind() const
{
    return (m_nKind >= 0 && m_nKind <= 3) || m_nKind == 8;
}

int CExtDynDockMarkerWnd::GetDockSideCode() const
{
    if (!IsDockingKind())
        return 0;
    if (m_hWndTarget == NULL)
        return m_nKind == 8 ? 0 : 14 + m_nKind;
    CWnd* pTarget = CWnd::FromHandlePermanent(m_hWndTarget);
    const bool bBar = pTarget != NULL && pTarget->IsKindOf(RUNTIME_CLASS(CExtControlBar));
    if (m_nKind == 8)
        return bBar ? 26 : 0;
    return (bBar ? 22 : 18) + m_nKind;
}

CExtDynDockMarkerWnd* CExtDynDockMarkerWnd::FromHandleMarker(HWND hWnd)
{
    if (hWnd == NULL)
        return NULL;
    return DYNAMIC_DOWNCAST(CExtDynDockMarkerWnd, CWnd::FromHandlePermanent(hWnd));
}

CExtDynDockMarkerWnd* CExtDynDockMarkerWnd::FindMarker(HWND hWndTarget, int nKind, bool bOuter)
{
    CPtrArray& arr = bOuter ? g_arrOuterMarkers : g_arrInnerMarkers;
    for (INT_PTR i = 0; i < arr.GetSize(); i++)
    {
        CExtDynDockMarkerWnd* p = static_cast<CExtDynDockMarkerWnd*>(arr[i]);
        if (p->m_nKind == nKind && p->m_bOuter == bOuter && (hWndTarget == NULL || p->m_hWndTarget == hWndTarget))
            return p;
    }
    return NULL;
}

// ---- painting --------------------------------------------------------------------------

void CExtDynDockMarkerWnd::DrawMarker(CDC& dc)
{
    CRect rcClient;
    GetClientRect(&rcClient);
    if (!m_bmpBackground.IsEmpty())
        m_bmpBackground.AlphaBlendWhole(dc.GetSafeHdc(), rcClient, 255);
    const CExtBitmap& bmp = m_nHoverState == 1 ? m_bmpHover : m_bmpNormal;
    if (!bmp.IsEmpty())
    {
        const CSize sz = bmp.GetSize();
        bmp.AlphaBlendWholeAt(dc.GetSafeHdc(), rcClient.left + m_ptImageOffset.x, rcClient.top + m_ptImageOffset.y,
                              sz.cx, sz.cy, 255);
    }
    GetPaintManager()->DrawDockMarker(dc, rcClient, m_nKind, m_nHoverState == 1, this, 0);
}

void CExtDynDockMarkerWnd::OnPaint()
{
    CPaintDC dc(this);
    DrawMarker(dc);
}

LRESULT CExtDynDockMarkerWnd::OnPrint(WPARAM wParam, LPARAM)
{
    Default();
    CDC* pDC = CDC::FromHandle((HDC)wParam);
    if (pDC != NULL)
        DrawMarker(*pDC);
    return 0;
}

int CExtDynDockMarkerWnd::OnMouseActivate(CWnd*, UINT, UINT) { return MA_NOACTIVATEANDEAT; }

// ---- hover -----------------------------------------------------------------------------

void CExtDynDockMarkerWnd::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent == __TIMER_HOVER)
        CheckHover();
    else if (nIDEvent == __TIMER_FADE)
        FadeStep();
    else
        CWnd::OnTimer(nIDEvent);
}

void CExtDynDockMarkerWnd::CheckHover()
{
    if (m_hWnd == NULL || (GetStyle() & WS_VISIBLE) == 0)
        return;
    if (m_hWndTarget != NULL && !::IsWindow(m_hWndTarget))
    {
        ShowMarkerArray(g_arrInnerMarkers, false, true);
        CExtControlBar* pBar = CExtControlBar::GetDraggedBar();
        if (pBar != NULL && pBar->GetSafeHwnd() != NULL)
        {
            CPoint pt;
            ::GetCursorPos(&pt);
            pBar->ScreenToClient(&pt);
            pBar->PostMessage(WM_MOUSEMOVE, 0, MAKELPARAM(pt.x, pt.y));
        }
        return;
    }
    CPoint pt;
    ::GetCursorPos(&pt);
    const int nState = ::WindowFromPoint(pt) == m_hWnd ? 1 : 2;
    if (nState == m_nHoverState)
        return;
    m_nHoverState = nState;
    if (nState != 1)
        ShowHighlight(false);
    if (!m_bOuter && m_nKind != 4)
    {
        CExtDynDockMarkerWnd* pBack = FindMarker(m_hWndTarget, 4, false);
        if (pBack != NULL && pBack->GetSafeHwnd() != NULL)
        {
            if (nState == 1)
                pBack->m_hWndLinkedMarker = m_hWnd;
            else if (pBack->m_hWndLinkedMarker == m_hWnd)
                pBack->m_hWndLinkedMarker = NULL;
            pBack->Invalidate();
            pBack->UpdateWindow();
        }
    }
    Invalidate(TRUE);
    UpdateWindow();
}

// ---- showing, hiding and fading ----------------------------------------------------------

bool CExtDynDockMarkerWnd::CanFade()
{
    return g_CurrentPaintManager.m_pfnSetLayeredWindowAttributes != NULL &&
           CExtPaintManager::GetScreenBitsPerPixel() > 8;
}

bool CExtDynDockMarkerWnd::ShowMarker(bool bShow, bool bAnimate)
{
    if (m_hWnd == NULL)
        return false;
    CExtPaintManager* pPM = GetPaintManager();
    if (CanFade() && bAnimate && (pPM == NULL || pPM->m_nDockMarkerStyle != 1))
    {
        AnimateShow(bShow);
        return true;
    }
    const bool bVisible = (GetStyle() & WS_VISIBLE) != 0;
    if (bShow && !bVisible)
        ShowWindow(SW_SHOWNOACTIVATE);
    else if (!bShow && bVisible)
        ShowWindow(SW_HIDE);
    return true;
}

void CExtDynDockMarkerWnd::SetAlpha()
{
    if (CanFade())
        g_CurrentPaintManager.m_pfnSetLayeredWindowAttributes(m_hWnd, 0, BYTE(m_nOpacity * 255 / 100), LWA_ALPHA);
}

void CExtDynDockMarkerWnd::AnimateShow(bool bShow)
{
    if (m_hWnd == NULL)
        return;
    StopFade();
    if (m_hWnd == NULL)
        return;
    const bool bVisible = (GetStyle() & WS_VISIBLE) != 0;
    if (bVisible == bShow)
        return;
    if (CanFade())
    {
        ModifyStyleEx(0, WS_EX_LAYERED);
        m_nOpacity = bShow ? 0 : 100;
        SetAlpha();
        if (bShow)
            ShowWindow(SW_SHOWNOACTIVATE);
        CExtPaintManager::PumpPaintMessages();
    }
    m_nFadeFlags = BYTE((m_nFadeFlags & __FADE_DESTROY_AT_END) | __FADE_RUNNING | (bShow ? __FADE_TO_VISIBLE : 0));
    SetTimer(__TIMER_FADE, 1, NULL);
    FadeStep();
}

void CExtDynDockMarkerWnd::FadeStep()
{
    if (m_hWnd == NULL || (m_nFadeFlags & __FADE_RUNNING) == 0)
        return;
    const bool bToVisible = (m_nFadeFlags & __FADE_TO_VISIBLE) != 0;
    if ((!bToVisible && m_nOpacity < 1) || (bToVisible && m_nOpacity > 99))
    {
        StopFade();
        return;
    }
    m_nOpacity += bToVisible ? 25 : -25;
    if (CanFade())
    {
        SetAlpha();
        RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW);
    }
}

void CExtDynDockMarkerWnd::StopFade()
{
    if (m_hWnd == NULL)
        return;
    KillTimer(__TIMER_FADE);
    const bool bVisible = (GetStyle() & WS_VISIBLE) != 0;
    if ((m_nFadeFlags & __FADE_RUNNING) != 0)
    {
        const bool bToVisible = (m_nFadeFlags & __FADE_TO_VISIBLE) != 0;
        if (bVisible && !bToVisible)
            ShowWindow(SW_HIDE);
        else if (!bVisible && bToVisible)
            ShowWindow(SW_SHOWNOACTIVATE);
    }
    if ((GetExStyle() & WS_EX_LAYERED) != 0)
    {
        ModifyStyleEx(WS_EX_LAYERED, 0);
        RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW);
    }
    m_nFadeFlags &= ~__FADE_RUNNING;
    if ((m_nFadeFlags & __FADE_DESTROY_AT_END) != 0)
        DestroyWindow();
}

// ---- highlight ---------------------------------------------------------------------------

bool CExtDynDockMarkerWnd::ShowHighlight(bool bShow)
{
    if (m_pHighlight != NULL)
    {
        if (m_pHighlight->GetSafeHwnd() != NULL)
            m_pHighlight->DestroyWindow();
        delete m_pHighlight;
        m_pHighlight = NULL;
    }
    if (!bShow)
        return true;
    HideAllHighlights(this, true);
    m_pHighlight = new CExtDynDockHighlightWnd(this);
    if (m_pHighlight->GetSafeHwnd() != NULL)
        return true;
    delete m_pHighlight;
    m_pHighlight = NULL;
    return false;
}

void CExtDynDockMarkerWnd::HideHighlights(CPtrArray& arr, CExtDynDockMarkerWnd* pKeep, bool bPumpPaint)
{
    for (INT_PTR i = 0; i < arr.GetSize(); i++)
    {
        CExtDynDockMarkerWnd* p = static_cast<CExtDynDockMarkerWnd*>(arr[i]);
        if (p != pKeep)
            p->ShowHighlight(false);
    }
    if (bPumpPaint)
        CExtPaintManager::PumpPaintMessages();
}

void CExtDynDockMarkerWnd::HideAllHighlights(CExtDynDockMarkerWnd* pKeep, bool bPumpPaint)
{
    HideHighlights(g_arrOuterMarkers, pKeep, false);
    HideHighlights(g_arrInnerMarkers, pKeep, false);
    if (bPumpPaint)
        CExtPaintManager::PumpPaintMessages();
}

void CExtDynDockMarkerWnd::ClearHighlights(bool bPumpPaint) { HideAllHighlights(NULL, bPumpPaint); }

// ---- marker sets -------------------------------------------------------------------------

void CExtDynDockMarkerWnd::ShowMarkerArray(CPtrArray& arr, bool bShow, bool bAnimate)
{
    // A marker may destroy itself at the end of a fade: walk a copy.
    CPtrArray arrCopy;
    arrCopy.Copy(arr);
    for (INT_PTR i = 0; i < arrCopy.GetSize(); i++)
    {
        CExtDynDockMarkerWnd* p = static_cast<CExtDynDockMarkerWnd*>(arrCopy[i]);
        bool bStillThere = false;
        for (INT_PTR j = 0; j < arr.GetSize() && !bStillThere; j++)
            bStillThere = arr[j] == p;
        if (!bStillThere || p->GetSafeHwnd() == NULL)
            continue;
        if (((p->GetStyle() & WS_VISIBLE) != 0) != bShow)
            p->ShowMarker(bShow, bAnimate);
    }
    CExtPaintManager::PumpPaintMessages();
}

void CExtDynDockMarkerWnd::ShowAllMarkers(bool bShow)
{
    ShowMarkerArray(g_arrOuterMarkers, bShow, false);
    ShowMarkerArray(g_arrInnerMarkers, bShow, true);
}

void CExtDynDockMarkerWnd::DestroyMarkers(CPtrArray& arr, bool bAnimate)
{
    ShowMarkerArray(arr, false, bAnimate);
    CPtrArray arrCopy;
    arrCopy.Copy(arr);
    arr.RemoveAll();
    for (INT_PTR i = 0; i < arrCopy.GetSize(); i++)
    {
        CExtDynDockMarkerWnd* p = static_cast<CExtDynDockMarkerWnd*>(arrCopy[i]);
        if (p->GetSafeHwnd() == NULL)
        {
            delete p;
            continue;
        }
        if (p->IsFading())
            p->m_nFadeFlags |= __FADE_DESTROY_AT_END;  // the fade's end destroys it
        else
            p->DestroyWindow();
    }
}

void CExtDynDockMarkerWnd::DestroyAllMarkers()
{
    ClearHighlights(false);
    DestroyMarkers(g_arrOuterMarkers, false);
    DestroyMarkers(g_arrInnerMarkers, false);
    g_hWndInnerTarget = NULL;
}

CRect CExtDynDockMarkerWnd::CalcFrameFreeArea(CFrameWnd* pFrame)
{
    CRect rc(0, 0, 0, 0);
    if (pFrame == NULL || pFrame->GetSafeHwnd() == NULL)
        return rc;
    pFrame->GetClientRect(&rc);
    AFX_SIZEPARENTPARAMS layout;
    ::ZeroMemory(&layout, sizeof(layout));
    layout.rect = rc;
    layout.bStretch = TRUE;
    for (HWND hWnd = ::GetTopWindow(pFrame->m_hWnd); hWnd != NULL; hWnd = ::GetWindow(hWnd, GW_HWNDNEXT))
    {
        if (::GetDlgCtrlID(hWnd) == AFX_IDW_PANE_FIRST)
            continue;
        CWnd* pWnd = CWnd::FromHandlePermanent(hWnd);
        CExtDockBar* pDockBar = DYNAMIC_DOWNCAST(CExtDockBar, pWnd);
        if (pDockBar != NULL && pDockBar->GetCircleNo() >= 1)
            break;
        if (pWnd != NULL && pWnd->IsKindOf(RUNTIME_CLASS(CExtControlBar)))
        {
            CExtControlBar::QUERY_REPOSITION_CALC_EFFECT_DATA data(1, pFrame, 0, 0xFFFF, AFX_IDW_PANE_FIRST,
                                                                   &layout.rect, &layout.rect, true);
            pWnd->SendMessage(CExtControlBar::g_nMsgQueryRepositionCalcEffect, (WPARAM)&data);
            if (data.IsSkipSizeParent())
                continue;
        }
        ::SendMessage(hWnd, WM_SIZEPARENT, 0, (LPARAM)&layout);
    }
    rc = layout.rect;
    pFrame->ClientToScreen(&rc);
    return rc;
}

void CExtDynDockMarkerWnd::CreateOuterMarkers(CFrameWnd* pFrame, bool bShow, CExtPaintManager* pPM)
{
    if (pFrame == NULL || pFrame->GetSafeHwnd() == NULL)
        return;
    if (pPM == NULL)
        pPM = g_CurrentPaintManager.GetPM();
    const CRect rc = CalcFrameFreeArea(pFrame);
    try
    {
        pPM->CreateDockMarkerWindows(NULL, 5, rc, g_arrOuterMarkers);
    }
    catch (CException* e)
    {
        // A look without markers: the drag goes on with outlines only.
        e->Delete();
    }
    ShowMarkerArray(g_arrOuterMarkers, bShow, false);
}

HWND CExtDynDockMarkerWnd::FindDockedBarWindowAt(CExtDynControlBar* pContainer, POINT ptScreen)
{
    if (pContainer == NULL || pContainer->m_pWndDynDocker == NULL ||
        pContainer->m_pWndDynDocker->GetSafeHwnd() == NULL)
        return NULL;
    CDockBar* pInner = pContainer->m_pWndDynDocker;
    for (INT_PTR i = 0; i < pInner->m_arrBars.GetSize(); i++)
    {
        void* pv = pInner->m_arrBars[i];
        if (pv == NULL || (UINT_PTR)pv < 0x10000)
            continue;
        CExtControlBar* pBar = DYNAMIC_DOWNCAST(CExtControlBar, (CObject*)pv);
        if (pBar == NULL || pBar->GetSafeHwnd() == NULL || pBar->IsFixedMode() ||
            (pBar->GetStyle() & WS_VISIBLE) == 0)
            continue;
        CRect rc;
        pBar->GetWindowRect(&rc);
        if (!rc.PtInRect(ptScreen))
            continue;
        CExtDynTabControlBar* pTabbed = pBar->GetTabbedContainer();
        if (pTabbed != NULL)
            return pTabbed->GetSafeHwnd();
        CExtDynControlBar* pNested = DYNAMIC_DOWNCAST(CExtDynControlBar, pBar);
        if (pNested != NULL && !pBar->IsKindOf(RUNTIME_CLASS(CExtDynTabControlBar)))
        {
            HWND hWnd = FindDockedBarWindowAt(pNested, ptScreen);
            if (hWnd != NULL)
                return hWnd;
            continue;
        }
        return pBar->GetSafeHwnd();
    }
    return NULL;
}
