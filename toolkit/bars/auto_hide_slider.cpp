// The auto-hide slider: the window that shows a pinned bar's content over the frame,
// along the side of the area that holds the bar's tab. This file holds the window, its
// non-client frame and caption, and the slide itself; the mouse, keyboard and timers
// that decide when it slides back are in auto_hide_slider_input.cpp.
#include "toolkit/bars/auto_hide.h"
#include "toolkit/menus/popup_menu_tip_wnd.h"
#include "toolkit/menus/popup_menu_wnd.h"
#include "toolkit/theme/pm_bar_parts.h"

IMPLEMENT_DYNAMIC(CExtDynAutoHideSlider, CWnd)

int CExtControlBar::g_nAutoHideAnimationStepCount = 5;
int CExtControlBar::g_nAutoHideAnimationStepTime = 10;
bool CExtControlBar::g_bAutoHideAnimateShow = false;
bool CExtControlBar::g_bAutoHideAnimateHide = false;
bool CExtControlBar::g_bAutoHideKeyboardSwitch = true;
bool CExtControlBar::g_bAutoHideOleDragOver = true;
int CExtControlBar::g_nAutoHideTabStyleOverride = -1;

const char* const CExtDynAutoHideSlider::g_sSliderClassName = "Kestrix-AutohideSlider";
CExtDynAutoHideSlider* CExtDynAutoHideSlider::g_pHookingSlider = NULL;
HHOOK CExtDynAutoHideSlider::g_hHookMouse = NULL;
HHOOK CExtDynAutoHideSlider::g_hHookKeyboard = NULL;

namespace {

bool g_bSliderClassRegistered = false;

const UINT kRedrawAll = RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_ERASENOW | RDW_NOFRAME;

}  // namespace

void CExtDynAutoHideSlider::PumpPaintMessages()
{
    MSG msg;
    for (UINT nMsg : {UINT(WM_NCPAINT), UINT(WM_ERASEBKGND), UINT(WM_PAINT)})
        for (int nGuard = 0; nGuard < 1000 && ::PeekMessage(&msg, NULL, nMsg, nMsg, PM_REMOVE); nGuard++)
            ::DispatchMessage(&msg);
}

BEGIN_MESSAGE_MAP(CExtDynAutoHideSlider, CWnd)
    ON_WM_NCCALCSIZE()
    ON_WM_NCHITTEST()
    ON_WM_NCPAINT()
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_SIZE()
    ON_WM_SETFOCUS()
    ON_WM_CONTEXTMENU()
    ON_WM_TIMER()
    ON_WM_CANCELMODE()
    ON_WM_CLOSE()
    ON_WM_DESTROY()
    ON_MESSAGE(WM_SIZEPARENT, &CExtDynAutoHideSlider::OnSizeParent)
END_MESSAGE_MAP()

// ---- class, construction, creation ------------------------------------------------------

bool CExtDynAutoHideSlider::RegisterSliderClass()
{
    if (g_bSliderClassRegistered)
        return true;
    const HINSTANCE hInst = AfxGetInstanceHandle();
    WNDCLASS wc;
    if (!::GetClassInfo(hInst, g_sSliderClassName, &wc))
    {
        ::ZeroMemory(&wc, sizeof(wc));
        wc.style = CS_GLOBALCLASS | CS_DBLCLKS;
        wc.lpfnWndProc = ::DefWindowProc;
        wc.hInstance = hInst;
        wc.hCursor = ::LoadCursor(NULL, IDC_ARROW);
        wc.lpszClassName = g_sSliderClassName;
        if (!::RegisterClass(&wc))
            return false;
    }
    g_bSliderClassRegistered = true;
    return true;
}

CExtDynAutoHideSlider::CExtDynAutoHideSlider()
    : m_hWndArea(NULL), m_hWndBar(NULL), m_sizeContent(0, 0), m_nStateFlags(0),
      m_nResizingMode(__EAHS_RESIZE_NONE), m_dwResizeStartX(0), m_dwResizeStartY(0), m_pBtnHover(NULL),
      m_pBtnTip(NULL), m_pBtnPressed(NULL), m_bDeleteWithWindow(false)
{
    ::SetRectEmpty(&m_rcAvail);
    RegisterWithHolder();
}

CExtDynAutoHideSlider::~CExtDynAutoHideSlider()
{
    if (g_pHookingSlider == this)
        RemoveHooks();
    UnregisterFromHolder();
}

void CExtDynAutoHideSlider::RegisterWithHolder() { g_CurrentPaintManager.RegisterBridge(this); }
void CExtDynAutoHideSlider::UnregisterFromHolder() { g_CurrentPaintManager.UnregisterBridge(this); }
HWND CExtDynAutoHideSlider::GetBridgeHwnd() { return m_hWnd; }
CExtPaintManager* CExtDynAutoHideSlider::GetPaintManager() { return g_CurrentPaintManager.GetPM(); }

BOOL CExtDynAutoHideSlider::PreCreateWindow(CREATESTRUCT& cs)
{
    if (!RegisterSliderClass())
        return FALSE;
    cs.lpszClass = g_sSliderClassName;
    return CWnd::PreCreateWindow(cs);
}

bool CExtDynAutoHideSlider::Create(CWnd* pParentFrame)
{
    if (pParentFrame == NULL || pParentFrame->GetSafeHwnd() == NULL || !RegisterSliderClass())
        return false;
    if ((pParentFrame->GetStyle() & WS_CLIPCHILDREN) == 0)
        pParentFrame->ModifyStyle(0, WS_CLIPCHILDREN);
    if (!CWnd::Create(g_sSliderClassName, "", WS_CHILD | WS_CLIPSIBLINGS, CRect(0, 0, 0, 0), pParentFrame, 0))
        return false;
    ModifyStyleEx(0x00402000, 0);
    EnableToolTips(TRUE);
    if (m_wndToolTip.Create(this))
        m_wndToolTip.SendMessage(TTM_ACTIVATE, TRUE);
    return true;
}

// ---- the handles --------------------------------------------------------------------------

CExtDynAutoHideArea* CExtDynAutoHideSlider::GetArea() const
{
    if (m_hWndArea == NULL || !::IsWindow(m_hWndArea))
        return NULL;
    return DYNAMIC_DOWNCAST(CExtDynAutoHideArea, CWnd::FromHandlePermanent(m_hWndArea));
}

CExtControlBar* CExtDynAutoHideSlider::GetShownBar() const
{
    if (m_hWndBar == NULL || !::IsWindow(m_hWndBar))
        return NULL;
    return DYNAMIC_DOWNCAST(CExtControlBar, CWnd::FromHandlePermanent(m_hWndBar));
}

bool CExtDynAutoHideSlider::QueryShownBarTabShown() const
{
    CExtControlBar* pBar = GetShownBar();
    return pBar != NULL && pBar->IsTabShown();
}

bool CExtDynAutoHideSlider::IsShownAndOut() const
{
    return m_hWnd != NULL && IsOut() && (GetStyle() & WS_VISIBLE) != 0;
}

UINT CExtDynAutoHideSlider::AreaSideId() const
{
    CExtDynAutoHideArea* pArea = GetArea();
    return pArea != NULL ? UINT(pArea->GetDlgCtrlID()) : UINT(AFX_IDW_DOCKBAR_TOP);
}

bool CExtDynAutoHideSlider::IsHorzSide() const
{
    const UINT nSide = AreaSideId();
    return nSide == AFX_IDW_DOCKBAR_TOP || nSide == AFX_IDW_DOCKBAR_BOTTOM;
}

// ---- geometry -----------------------------------------------------------------------------

// Left, top, right and bottom thickness of the non-client frame for pBar on this side.
CRect CExtDynAutoHideSlider::NonClientInsets(CExtControlBar* pBar) const
{
    CRect rc(2, 2, 2, 2);
    switch (AreaSideId())
    {
    case AFX_IDW_DOCKBAR_TOP: rc.bottom += __EAHS_GAP_INNER; break;
    case AFX_IDW_DOCKBAR_LEFT: rc.right += __EAHS_GAP_INNER; break;
    case AFX_IDW_DOCKBAR_RIGHT: rc.left += __EAHS_GAP_INNER; break;
    default: rc.top += __EAHS_GAP_INNER; break;
    }
    bool bGripperAtTop = false;
    if (pBar != NULL && pBar->GetSafeHwnd() != NULL && pBar->IsBarWithGripper(&bGripperAtTop))
    {
        if (bGripperAtTop)
            rc.top += pBar->GetGripperHeightAtTop() + 1;
        else
            rc.left += pBar->GetGripperWidthAtLeft() + 1;
    }
    return rc;
}

bool CExtDynAutoHideSlider::GetCaptionRect(RECT& rc, bool* pbGripperAtTop) const
{
    ::SetRectEmpty(&rc);
    if (pbGripperAtTop != NULL)
        *pbGripperAtTop = false;
    CExtControlBar* pBar = GetShownBar();
    bool bGripperAtTop = false;
    if (m_hWnd == NULL || pBar == NULL || !pBar->IsBarWithGripper(&bGripperAtTop))
        return false;
    CRect rcWnd;
    GetWindowRect(&rcWnd);
    CRect rcInsets = NonClientInsets(NULL);
    CRect rcCaption(rcInsets.left, rcInsets.top, rcWnd.Width() - rcInsets.right, rcWnd.Height() - rcInsets.bottom);
    if (bGripperAtTop)
        rcCaption.bottom = std::min(rcCaption.bottom, rcCaption.top + pBar->GetGripperHeightAtTop());
    else
        rcCaption.right = std::min(rcCaption.right, rcCaption.left + pBar->GetGripperWidthAtLeft());
    rc = rcCaption;
    if (pbGripperAtTop != NULL)
        *pbGripperAtTop = bGripperAtTop;
    return true;
}

// The slider's place for pBar: along the area's side of the room the visible areas leave.
bool CExtDynAutoHideSlider::ComputeSlideOut(CExtControlBar* pBar, CExtDynAutoHideArea* pArea, CRect& rcAvail,
                                           CRect& rcFinal)
{
    CWnd* pFrame = GetParent();
    if (pFrame == NULL)
        return false;
    pFrame->GetClientRect(&rcAvail);
    CExtDynAutoHideArea *pTop, *pBottom, *pLeft, *pRight;
    CExtDynAutoHideArea::FindAreas(pFrame->m_hWnd, &pTop, &pBottom, &pLeft, &pRight);
    if ((pFrame->GetExStyle() & WS_EX_LAYOUTRTL) != 0)
        std::swap(pLeft, pRight);
    auto areaRect = [pFrame](CExtDynAutoHideArea* p, CRect& rc) {
        if (p == NULL || (p->GetStyle() & WS_VISIBLE) == 0)
            return false;
        p->GetWindowRect(&rc);
        pFrame->ScreenToClient(&rc);
        return true;
    };
    CRect rc;
    if (areaRect(pTop, rc))
        rcAvail.top = std::max(rcAvail.top, rc.bottom);
    if (areaRect(pBottom, rc))
        rcAvail.bottom = std::min(rcAvail.bottom, rc.top);
    if (areaRect(pLeft, rc))
        rcAvail.left = std::max(rcAvail.left, rc.right);
    if (areaRect(pRight, rc))
        rcAvail.right = std::min(rcAvail.right, rc.left);
    if (rcAvail.Width() < __EAHS_MIN_EXTENT || rcAvail.Height() < __EAHS_MIN_EXTENT)
        return false;

    // A page of a tabbed group slides out with its group's sizes.
    CExtControlBar* pSizeBar = pBar;
    if (CExtPaintManagerHolder::IsKindOfByName(pBar->m_pDockBar, "CExtDockDynTabBar"))
    {
        CExtControlBar* pGroup = DYNAMIC_DOWNCAST(CExtControlBar, pBar->m_pDockBar->GetParent());
        if (pGroup != NULL)
            pSizeBar = pGroup;
    }
    const UINT nSide = UINT(pArea->GetDlgCtrlID());
    const bool bHorz = nSide == AFX_IDW_DOCKBAR_TOP || nSide == AFX_IDW_DOCKBAR_BOTTOM;
    CSize size = bHorz ? pSizeBar->m_sizeDockedH : pSizeBar->m_sizeDockedV;
    size.cx = std::min(std::max(size.cx, LONG(__EAHS_MIN_EXTENT)), LONG(rcAvail.Width()));
    size.cy = std::min(std::max(size.cy, LONG(__EAHS_MIN_EXTENT)), LONG(rcAvail.Height()));
    if (size.cx < __EAHS_MIN_EXTENT || size.cy < __EAHS_MIN_EXTENT)
        return false;
    int nExtent = bHorz ? size.cy : size.cx;
    const int nOwn = bHorz ? pBar->AutoHideHeightGet() : pBar->AutoHideWidthGet();
    if (nOwn >= 0)
        nExtent = nOwn;

    m_hWndArea = pArea->m_hWnd;  // the insets below depend on the side
    const CRect rcInsets = NonClientInsets(pBar);
    rcFinal = rcAvail;
    switch (nSide)
    {
    case AFX_IDW_DOCKBAR_TOP: rcFinal.bottom = rcFinal.top + nExtent + rcInsets.top + rcInsets.bottom; break;
    case AFX_IDW_DOCKBAR_BOTTOM: rcFinal.top = rcFinal.bottom - nExtent - rcInsets.top - rcInsets.bottom; break;
    case AFX_IDW_DOCKBAR_LEFT: rcFinal.right = rcFinal.left + nExtent + rcInsets.left + rcInsets.right; break;
    default: rcFinal.left = rcFinal.right - nExtent - rcInsets.left - rcInsets.right; break;
    }
    rcFinal.IntersectRect(&rcFinal, &rcAvail);
    return true;
}

// One animation step: nStep of the step count, growing out of (or shrinking into) the
// area's edge.
CRect CExtDynAutoHideSlider::StepRect(const CRect& rcFinal, int nStep, bool bGrowing) const
{
    const int nSteps = CExtControlBar::g_nAutoHideAnimationStepCount;
    const int nPart = bGrowing ? nStep : (nSteps - 1 - nStep);
    CRect rc = rcFinal;
    switch (AreaSideId())
    {
    case AFX_IDW_DOCKBAR_TOP: rc.bottom = rc.top + ::MulDiv(rcFinal.Height(), nPart, nSteps + 1); break;
    case AFX_IDW_DOCKBAR_BOTTOM: rc.top = rc.bottom - ::MulDiv(rcFinal.Height(), nPart, nSteps + 1); break;
    case AFX_IDW_DOCKBAR_LEFT: rc.right = rc.left + ::MulDiv(rcFinal.Width(), nPart, nSteps + 1); break;
    default: rc.left = rc.right - ::MulDiv(rcFinal.Width(), nPart, nSteps + 1); break;
    }
    return rc;
}

void CExtDynAutoHideSlider::ApplyStep(HWND hWndContent, const CRect& rcSlider, bool bFirst)
{
    SetWindowPos(&CWnd::wndTop, rcSlider.left, rcSlider.top, rcSlider.Width(), rcSlider.Height(),
                 SWP_SHOWWINDOW | SWP_NOCOPYBITS | (bFirst ? SWP_FRAMECHANGED : 0));
    if (hWndContent != NULL)
    {
        // The content keeps its full size, pinned to the far edge, so it appears to slide.
        CRect rcClient;
        GetClientRect(&rcClient);
        CRect rcContent(0, 0, std::max(LONG(m_sizeContent.cx), rcClient.right),
                        std::max(LONG(m_sizeContent.cy), rcClient.bottom));
        switch (AreaSideId())
        {
        case AFX_IDW_DOCKBAR_TOP: rcContent.OffsetRect(0, rcClient.bottom - rcContent.bottom); break;
        case AFX_IDW_DOCKBAR_LEFT: rcContent.OffsetRect(rcClient.right - rcContent.right, 0); break;
        default: break;
        }
        ::SetWindowPos(hWndContent, HWND_BOTTOM, rcContent.left, rcContent.top, rcContent.Width(),
                       rcContent.Height(), SWP_SHOWWINDOW | SWP_NOCOPYBITS);
    }
    RedrawWindow(NULL, NULL, kRedrawAll);
    PumpPaintMessages();
}

// ---- sliding --------------------------------------------------------------------------------

void CExtDynAutoHideSlider::SlideBar(CExtControlBar* pBar, bool bShow, bool bAnimate, bool bActivate)
{
    if (m_hWnd == NULL)
        return;
    if (bShow)
        SlideOut(pBar, bAnimate);
    else
        SlideIn(bAnimate, bActivate);
}

void CExtDynAutoHideSlider::SlideOut(CExtControlBar* pBar, bool bAnimate)
{
    const int nSteps = CExtControlBar::g_nAutoHideAnimationStepCount;
    const int nStepTime = CExtControlBar::g_nAutoHideAnimationStepTime;
    if (pBar == NULL || pBar->GetSafeHwnd() == NULL)
        return;
    CExtControlBar* pShown = GetShownBar();
    CExtPopupMenuTipWnd* pTip = pShown != NULL ? pShown->GetBarTipWnd() : NULL;
    if (pTip != NULL && pTip->GetSafeHwnd() != NULL)
        pTip->Hide();
    const bool bAnim = nSteps != 0 && nStepTime != 0 && bAnimate && CExtControlBar::g_bAutoHideAnimateShow;
    CExtPopupMenuWnd::CancelMenuTracking();
    CWnd::CancelToolTips();
    if (IsOut() && pShown == pBar)
        return;
    if (IsOut())
        SlideBar(pShown, false, false, true);
    CExtDynAutoHideArea* pArea = CExtDynAutoHideArea::FindBarArea(pBar);
    if (pArea == NULL)
        return;
    CRect rcAvail, rcFinal;
    const HWND hWndAreaOld = m_hWndArea;
    if (!ComputeSlideOut(pBar, pArea, rcAvail, rcFinal))
    {
        m_hWndArea = hWndAreaOld;
        return;
    }
    m_nStateFlags |= __EAHS_OUT;
    m_hWndBar = pBar->m_hWnd;
    m_hWndArea = pArea->m_hWnd;
    m_rcAvail = rcAvail;
    const CRect rcInsets = NonClientInsets(pBar);
    m_sizeContent = CSize(rcFinal.Width() - rcInsets.left - rcInsets.right,
                          rcFinal.Height() - rcInsets.top - rcInsets.bottom);

    HWND hWndContent = ::GetWindow(pBar->m_hWnd, GW_CHILD);
    if (hWndContent != NULL)
    {
        ::SetParent(hWndContent, m_hWnd);
        CExtControlBar::UpdateOleControlContainerFlags(pBar->m_pDockSite);
        ::SetWindowPos(hWndContent, NULL, 0, 0, 0, 0,
                       SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_FRAMECHANGED | SWP_SHOWWINDOW |
                           SWP_NOOWNERZORDER);
    }
    bool bStepsRan = false;
    if (bAnim)
    {
        m_nStateFlags |= __EAHS_BUSY;
        DWORD dwLast = ::GetTickCount();
        for (int i = 0; i < nSteps; i++)
        {
            ApplyStep(hWndContent, StepRect(rcFinal, i, true), !bStepsRan);
            bStepsRan = true;
            const DWORD dwSpent = ::GetTickCount() - dwLast;
            if (dwSpent < DWORD(nStepTime))
                ::Sleep(DWORD(nStepTime) - dwSpent);
            dwLast = ::GetTickCount();
        }
        m_nStateFlags &= BYTE(~__EAHS_BUSY);
    }
    SetWindowPos(&CWnd::wndTop, rcFinal.left, rcFinal.top, rcFinal.Width(), rcFinal.Height(),
                 SWP_SHOWWINDOW | SWP_NOCOPYBITS | (bStepsRan ? 0 : SWP_FRAMECHANGED));
    if (hWndContent != NULL && ::IsWindow(hWndContent))
    {
        CRect rcClient;
        GetClientRect(&rcClient);
        ::SetWindowPos(hWndContent, HWND_BOTTOM, 0, 0, rcClient.Width(), rcClient.Height(),
                       SWP_SHOWWINDOW | SWP_NOCOPYBITS);
        ::RedrawWindow(hWndContent, NULL, NULL, kRedrawAll);
    }
    LayoutShownBarButtons();
    RedrawWindow(NULL, NULL, kRedrawAll | RDW_FRAME);
    InstallHooks();
    ForgetButtonsHover(pBar);
    SetTimer(__EAHS_TIMER_TRACK, 100, NULL);
}

void CExtDynAutoHideSlider::SlideIn(bool bAnimate, bool bActivate)
{
    if (!IsOut())
        return;
    const int nSteps = CExtControlBar::g_nAutoHideAnimationStepCount;
    const int nStepTime = CExtControlBar::g_nAutoHideAnimationStepTime;
    CExtControlBar* pShown = GetShownBar();
    CExtDynAutoHideArea* pArea = GetArea();
    if (pArea != NULL)
        pArea->SelectionSet(-1, false, false);
    if (g_pHookingSlider == this)
        RemoveHooks();
    const bool bAnim = nSteps != 0 && nStepTime != 0 && bAnimate && CExtControlBar::g_bAutoHideAnimateHide;
    HWND hWndContent = ::GetWindow(m_hWnd, GW_CHILD);
    if (bAnim)
    {
        m_nStateFlags |= __EAHS_BUSY;
        CRect rcFrom;
        GetWindowRect(&rcFrom);
        GetParent()->ScreenToClient(&rcFrom);
        DWORD dwLast = ::GetTickCount();
        for (int i = 0; i < nSteps; i++)
        {
            ApplyStep(hWndContent, StepRect(rcFrom, i, false), false);
            const DWORD dwSpent = ::GetTickCount() - dwLast;
            if (dwSpent < DWORD(nStepTime))
                ::Sleep(DWORD(nStepTime) - dwSpent);
            dwLast = ::GetTickCount();
        }
        m_nStateFlags &= BYTE(~__EAHS_BUSY);
    }
    ForgetButtonsHover(pShown);
    KillTimer(__EAHS_TIMER_TRACK);
    KillTimer(__EAHS_TIMER_LEAVE);
    m_nStateFlags &= BYTE(~__EAHS_LEAVE_TIMER);
    bool bFocusWasInside = false;
    if (hWndContent != NULL && pShown != NULL && pShown->GetSafeHwnd() != NULL)
    {
        const HWND hWndFocus = ::GetFocus();
        bFocusWasInside = hWndFocus != NULL && (hWndFocus == m_hWnd || ::IsChild(m_hWnd, hWndFocus));
        ::SetParent(hWndContent, pShown->m_hWnd);
        CExtControlBar::UpdateOleControlContainerFlags(pShown->m_pDockSite);
        CRect rcClient;
        pShown->GetClientRect(&rcClient);
        ::SetWindowPos(hWndContent, HWND_BOTTOM, rcClient.left, rcClient.top, rcClient.Width(), rcClient.Height(),
                       SWP_SHOWWINDOW | SWP_NOCOPYBITS);
    }
    SetWindowPos(NULL, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_HIDEWINDOW | SWP_NOOWNERZORDER);
    if (pArea != NULL && pArea->GetSafeHwnd() != NULL)
        pArea->SelectionSet(-1, false, false);
    m_nStateFlags &= BYTE(~(__EAHS_OUT | __EAHS_FOCUS_INSIDE | __EAHS_LEAVE_TIMER));
    m_hWndBar = NULL;
    m_hWndArea = NULL;
    m_nResizingMode = __EAHS_RESIZE_NONE;
    m_pBtnHover = m_pBtnTip = m_pBtnPressed = NULL;
    m_dwResizeStartX = m_dwResizeStartY = 0;
    ::SetRectEmpty(&m_rcAvail);
    if (bFocusWasInside && bActivate)
    {
        CWnd* pFrame = GetParent();
        if (pFrame != NULL && CExtControlBar::QueryFocusChangingEnabled(this, pFrame->m_hWnd))
            pFrame->SetFocus();
    }
}

void CExtDynAutoHideSlider::ForgetButtonsHover(CExtControlBar* pBar)
{
    if (pBar == NULL)
        return;
    for (INT_PTR i = 0; i < pBar->m_vNcAreaButtons.GetSize(); i++)
        pBar->m_vNcAreaButtons[i]->OnNcAreaHitTest(CPoint(-1, -1));
}

void CExtDynAutoHideSlider::LayoutShownBarButtons()
{
    CExtControlBar* pBar = GetShownBar();
    if (pBar == NULL)
        return;
    pBar->CreateNcAreaButtons();
    pBar->LayoutNcAreaButtons();
}

void CExtDynAutoHideSlider::RepaintCaption()
{
    if (m_hWnd != NULL)
        SendMessage(WM_NCPAINT);
}

// ---- non-client area ------------------------------------------------------------------------

void CExtDynAutoHideSlider::OnNcCalcSize(BOOL, NCCALCSIZE_PARAMS* lpncsp)
{
    RECT& rc = lpncsp->rgrc[0];
    const CRect rcInsets = NonClientInsets(GetShownBar());
    rc.left += rcInsets.left;
    rc.top += rcInsets.top;
    rc.right -= rcInsets.right;
    rc.bottom -= rcInsets.bottom;
    if (rc.right < rc.left)
        rc.right = rc.left;
    if (rc.bottom < rc.top)
        rc.bottom = rc.top;
}

LRESULT CExtDynAutoHideSlider::OnNcHitTest(CPoint point)
{
    if (!IsOut() || IsBusy() || m_nResizingMode != __EAHS_RESIZE_NONE)
        return HTCLIENT;
    CRect rcWnd;
    GetWindowRect(&rcWnd);
    switch (AreaSideId())
    {
    case AFX_IDW_DOCKBAR_TOP:
        return (point.y >= rcWnd.bottom - __EAHS_RESIZE_BAND && point.y < rcWnd.bottom) ? HTBOTTOM : HTCLIENT;
    case AFX_IDW_DOCKBAR_LEFT:
        return (point.x >= rcWnd.right - __EAHS_RESIZE_BAND && point.x < rcWnd.right) ? HTRIGHT : HTCLIENT;
    case AFX_IDW_DOCKBAR_RIGHT:
        return (point.x >= rcWnd.left && point.x < rcWnd.left + __EAHS_RESIZE_BAND) ? HTLEFT : HTCLIENT;
    default:
        return (point.y >= rcWnd.top && point.y < rcWnd.top + __EAHS_RESIZE_BAND) ? HTTOP : HTCLIENT;
    }
}

void CExtDynAutoHideSlider::OnNcPaint()
{
    CWindowDC dcWnd(this);
    CRect rcWnd, rcClient;
    CExtControlBar::GetWindowAndClientRects(this, rcWnd, rcClient);
    dcWnd.ExcludeClipRect(&rcClient);
    DrawSliderNcArea(dcWnd);
}

void CExtDynAutoHideSlider::DrawSliderNcArea(CDC& dc)
{
    CRect rcWnd;
    GetWindowRect(&rcWnd);
    rcWnd.OffsetRect(-rcWnd.TopLeft());
    CExtPaintManager* pPM = GetPaintManager();
    if (!(pPM->UsesParentBackground(this) && pPM->DrawWindowBackground(false, dc, this)))
        dc.FillSolidRect(&rcWnd, ::GetSysColor(COLOR_BTNFACE));
    CRect rcFrame = rcWnd;
    dc.Draw3dRect(&rcFrame, pPM->LookupColor(COLOR_3DDKSHADOW, this), pPM->LookupColor(COLOR_BTNFACE, this));
    rcFrame.DeflateRect(1, 1);
    dc.Draw3dRect(&rcFrame, pPM->LookupColor(COLOR_BTNSHADOW, this), pPM->LookupColor(COLOR_BTNHIGHLIGHT, this));

    CExtControlBar* pBar = GetShownBar();
    CRect rcCaption;
    bool bGripperAtTop = false;
    if (pBar == NULL || !GetCaptionRect(rcCaption, &bGripperAtTop))
        return;
    LayoutShownBarButtons();
    RECT rcText = rcCaption;
    pBar->CalcCaptionTextRect(rcText);
    CString sText;
    pBar->OnGetBarCaptionText(6, sText);
    const int nSaved = dc.SaveDC();
    dc.IntersectClipRect(&rcCaption);
    CExtPaintManager::PAINTBARCAPTIONDATA _pbcd(this, rcCaption, rcText, IsFocusInside(), false, !bGripperAtTop,
                                                true, sText.IsEmpty() ? NULL : LPCTSTR(sText));
    pPM->DrawBarCaption(dc, _pbcd);
    pBar->DrawNcAreaButtons(dc);
    dc.RestoreDC(nSaved);
}

void CExtDynAutoHideSlider::OnPaint()
{
    CPaintDC dc(this);
    if (::GetWindow(m_hWnd, GW_CHILD) != NULL)
        return;
    CRect rcClient;
    GetClientRect(&rcClient);
    CExtPaintManager* pPM = GetPaintManager();
    if (!(pPM->UsesParentBackground(this) && pPM->DrawWindowBackground(true, dc, this)))
        dc.FillSolidRect(&rcClient, ::GetSysColor(COLOR_BTNFACE));
}

BOOL CExtDynAutoHideSlider::OnEraseBkgnd(CDC*) { return TRUE; }

void CExtDynAutoHideSlider::OnSize(UINT nType, int cx, int cy)
{
    CWnd::OnSize(nType, cx, cy);
    if (!IsOut() || IsBusy())
        return;
    m_sizeContent = CSize(cx, cy);
    HWND hWndContent = ::GetWindow(m_hWnd, GW_CHILD);
    if (hWndContent != NULL)
        ::MoveWindow(hWndContent, 0, 0, cx, cy, TRUE);
}

void CExtDynAutoHideSlider::OnSetFocus(CWnd* pOldWnd)
{
    CWnd::OnSetFocus(pOldWnd);
    if (!IsShownAndOut())
        return;
    HWND hWndContent = ::GetWindow(m_hWnd, GW_CHILD);
    if (hWndContent != NULL && CExtControlBar::QueryFocusChangingEnabled(this, hWndContent))
        ::SetFocus(hWndContent);
}

void CExtDynAutoHideSlider::OnContextMenu(CWnd*, CPoint point)
{
    CExtControlBar* pBar = GetShownBar();
    if (pBar == NULL || pBar->IsCustomizeModeActive() || CExtControlBar::IsFrameInHelpMode(this))
        return;
    CRect rcClient;
    GetClientRect(&rcClient);
    ClientToScreen(&rcClient);
    if (rcClient.PtInRect(point))
        return;
    CFrameWnd* pFrame = pBar->GetDockingFrame();
    if (pFrame == NULL)
        return;
    CExtPopupMenuWnd* pPopup = new CExtPopupMenuWnd;
    if (!pPopup->CreatePopupMenu(pFrame->m_hWnd) ||
        !CExtDockBar::BuildBarsPopupMenu(pFrame, pPopup, 4, this, WM_CONTEXTMENU, pBar) ||
        pPopup->ItemGetCount() == 0 || !pPopup->TrackPopupMenu(CExtPopupMenuWnd::TMF_OWNER_DRAW, point.x, point.y))
        delete pPopup;
}

void CExtDynAutoHideSlider::OnCancelMode()
{
    CWnd::OnCancelMode();
    if (IsOut() && !IsBusy() && m_nResizingMode == __EAHS_RESIZE_NONE)
        SlideBar(GetShownBar(), false, false, true);
}

void CExtDynAutoHideSlider::OnClose()
{
    // The slider lives as long as its frame; closing it would strand the shown content.
    return;
}

void CExtDynAutoHideSlider::OnDestroy()
{
    SendMessage(WM_CANCELMODE);
    if (g_pHookingSlider == this)
        RemoveHooks();
    // The areas may outlive the slider while the frame goes: they forget it.
    CWnd* pFrame = GetParent();
    if (pFrame != NULL)
    {
        CExtDynAutoHideArea* arrAreas[4];
        CExtDynAutoHideArea::FindAreas(pFrame->m_hWnd, &arrAreas[0], &arrAreas[1], &arrAreas[2], &arrAreas[3]);
        for (CExtDynAutoHideArea* pArea : arrAreas)
            if (pArea != NULL && pArea->m_pWndSlider == this)
                pArea->m_pWndSlider = NULL;
    }
    CWnd::OnDestroy();
}

LRESULT CExtDynAutoHideSlider::OnSizeParent(WPARAM, LPARAM) { return 0; }

void CExtDynAutoHideSlider::PostNcDestroy()
{
    CWnd::PostNcDestroy();
    if (m_bDeleteWithWindow)
        delete this;
}
