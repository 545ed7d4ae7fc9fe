// Backgrounds of windows, controls, toolbars and dock bars, and the request by which a
// child asks its ancestors to paint the background beneath it.
//
// The Office 2003 and Studio 2005 looks continue the gradient of the frame's bar area
// under every bar and under the bars' child windows, so that all dock bars of a frame
// line up; at 8 bits per pixel they fall back to the flat XP look.
#include "toolkit/theme/paint_manager.h"
#include "toolkit/theme/pm_bar_parts.h"
#include "toolkit/theme/pm_glyphs.h"
#include "toolkit/theme/pm_neighbours.h"
#include "toolkit/core/bitmap.h"

#include <utility>

typedef CExtPmNeighbours NB;

const UINT CExtPaintManager::g_nMsgPaintInheritedBackground =
    ::RegisterWindowMessageA("CExtPaintManager::g_nMsgPaintInheritedBackground");

namespace {

bool IsDcRTL(CDC& dc) { return (::GetLayout(dc.GetSafeHdc()) & LAYOUT_RTL) != 0; }

bool IsEmptyOrInvisible(CDC& dc, const RECT& rc)
{
    return ::IsRectEmpty(&rc) || !dc.RectVisible(&rc);
}

// The client rectangle of hWndFrom in hWndTo's client coordinates, or in coordinates of
// hWndTo's window rectangle.
RECT MapClientRect(HWND hWndFrom, HWND hWndTo, bool bToClient)
{
    RECT rc = {0, 0, 0, 0};
    ::GetClientRect(hWndFrom, &rc);
    ::MapWindowPoints(hWndFrom, NULL, reinterpret_cast<POINT*>(&rc), 2);
    if (bToClient)
        ::MapWindowPoints(NULL, hWndTo, reinterpret_cast<POINT*>(&rc), 2);
    else
    {
        RECT rcWnd;
        ::GetWindowRect(hWndTo, &rcWnd);
        ::OffsetRect(&rc, -rcWnd.left, -rcWnd.top);
    }
    return rc;
}

CWnd* AsWindow(CObject* pObj)
{
    if (pObj == NULL || !pObj->IsKindOf(RUNTIME_CLASS(CWnd)))
        return NULL;
    return static_cast<CWnd*>(pObj);
}

}  // namespace

RECT CExtPaintManager::PAINTPARENTBACKGROUNDDATA::GetTargetRect() const
{
    RECT rc = {0, 0, 0, 0};
    HWND hWnd = (m_pWndTarget != NULL) ? m_pWndTarget->GetSafeHwnd() : NULL;
    if (hWnd == NULL)
        return rc;
    if (m_bClientOnly)
        ::GetClientRect(hWnd, &rc);
    else
    {
        ::GetWindowRect(hWnd, &rc);
        ::OffsetRect(&rc, -rc.left, -rc.top);
    }
    return rc;
}

// ---- the parent-background request ---------------------------------------------------------

bool CExtPaintManager::AskParentForBackground(bool bClientOnly, CDC& dc, CObject* pHelperSrc,
                                              LPARAM lParam)
{
    if (pHelperSrc == NULL || !IsParentBackgroundAllowed(pHelperSrc, lParam))
        return false;
    if (dc.GetSafeHdc() == NULL)
        return false;
    CWnd* pWndTarget = AsWindow(pHelperSrc);
    if (pWndTarget == NULL && NB::IsBarButton(pHelperSrc))
        pWndTarget = AsWindow(NB::ButtonBar(pHelperSrc));
    if (pWndTarget == NULL || pWndTarget->GetSafeHwnd() == NULL)
        return false;

    PAINTPARENTBACKGROUNDDATA _ppbd(bClientOnly, &dc, pWndTarget, lParam);
    HWND hWndAsked = pWndTarget->GetSafeHwnd();
    while (hWndAsked != NULL)
    {
        ::SendMessageA(hWndAsked, g_nMsgPaintInheritedBackground,
                       reinterpret_cast<WPARAM>(&_ppbd), 0);
        if (_ppbd.m_bCancel)
        {
            _ppbd.m_bPainted = false;
            _ppbd.m_hWndPainting = NULL;
            return false;
        }
        if (_ppbd.m_bPainted)
            break;
        if ((::GetWindowLongA(hWndAsked, GWL_STYLE) & WS_CHILD) == 0)
            return false;
        HWND hWndParent = ::GetParent(hWndAsked);
        if (hWndParent == NULL)
            return false;
        hWndAsked = hWndParent;
    }
    if (!_ppbd.m_bPainted)
        return false;
    if (_ppbd.m_hWndPainting == NULL)
        _ppbd.m_hWndPainting = hWndAsked;
    return true;
}

bool CExtPaintManager::IsParentBackgroundAllowed(CObject*, LPARAM)
{
    return IsParentBackgroundOn();
}

bool CExtPaintManager::UsesParentBackground(CObject* pHelperSrc, LPARAM lParam)
{
    return IsParentBackgroundAllowed(pHelperSrc, lParam);
}

bool CExtPaintManagerOffice2003::UsesParentBackground(CObject*, LPARAM)
{
    return GetScreenBitsPerPixel() > 8;
}

// ---- control and window backgrounds --------------------------------------------------------

bool CExtPaintManager::FillControlBackground(bool, CDC& dc, const RECT& rc, CObject* pHelperSrc,
                                             LPARAM lParam)
{
    dc.FillSolidRect(&rc, LookupColor(CLR_3DFACE_OUT, pHelperSrc, lParam));
    return true;
}

bool CExtPaintManagerOffice2003::FillControlBackground(bool, CDC& dc, const RECT& rc,
                                                       CObject* pHelperSrc, LPARAM lParam)
{
    const COLORREF clrA = LookupColor(3001, pHelperSrc, lParam);
    const COLORREF clrB = LookupColor(3000, pHelperSrc, lParam);
    // Past this width the gradient would be too faint to see; the rest is flat.
    const int nGradientWidth = 686;
    const bool bRTL = IsDcRTL(dc);
    RECT rcGradient = rc;
    if (rc.right - rc.left >= nGradientWidth)
    {
        RECT rcRest = rc;
        if (bRTL)
        {
            rcGradient.left = rc.right - nGradientWidth;
            rcRest.right = rcGradient.left;
        }
        else
        {
            rcGradient.right = rc.left + nGradientWidth;
            rcRest.left = rcGradient.right;
        }
        dc.FillSolidRect(&rcRest, clrB);
    }
    if (bRTL)
        GradientFillRect(dc, rcGradient, clrB, clrA, false, 64);
    else
        GradientFillRect(dc, rcGradient, clrA, clrB, false, 64);
    return true;
}

bool CExtPaintManager::DrawWindowBackground(bool bClientOnly, CDC& dc, CWnd* pWnd,
                                            LPARAM lParam)
{
    if (AskParentForBackground(bClientOnly, dc, pWnd, lParam))
        return true;
    HWND hWnd = pWnd->GetSafeHwnd();
    if (hWnd == NULL)
        return false;
    RECT rc;
    if (bClientOnly)
        ::GetClientRect(hWnd, &rc);
    else
    {
        ::GetWindowRect(hWnd, &rc);
        ::OffsetRect(&rc, -rc.left, -rc.top);
    }
    dc.FillSolidRect(&rc, LookupColor(CLR_3DFACE_OUT, pWnd, lParam));
    return true;
}

bool CExtPaintManagerXP::DrawWindowBackground(bool bClientOnly, CDC& dc, CWnd* pWnd,
                                              LPARAM lParam)
{
    return AskParentForBackground(bClientOnly, dc, pWnd, lParam);
}

bool CExtPaintManagerOffice2003::DrawWindowBackground(bool bClientOnly, CDC& dc, CWnd* pWnd,
                                                      LPARAM lParam)
{
    if (AskParentForBackground(bClientOnly, dc, pWnd, lParam))
        return true;
    if (!UsesParentBackground(pWnd, 0))
        return false;
    HWND hWnd = pWnd->GetSafeHwnd();
    if (hWnd == NULL)
        return false;

    // Find the window whose background goes on under this one.
    enum { __STOP_PLAIN, __STOP_PAIR, __STOP_BAR } eStop = __STOP_PLAIN;
    bool bBarHorz = true;
    HWND hWndStop = NULL;
    for (HWND hWalk = hWnd; hWalk != NULL; hWalk = ::GetParent(hWalk))
    {
        CWnd* pWalk = CWnd::FromHandlePermanent(hWalk);
        if ((::GetWindowLongA(hWalk, GWL_STYLE) & WS_CHILD) == 0 ||
            (pWalk != NULL && pWalk->IsKindOf(RUNTIME_CLASS(CFrameWnd))))
        {
            hWndStop = hWalk;
            break;
        }
        if (hWalk == hWnd || pWalk == NULL || !NB::IsToolBar(pWalk))
            continue;
        const BYTE nOptions = NB::BarOptions(pWalk);
        if (NB::DockSite(pWalk) != NULL &&
            (NB::IsPanelBar(pWalk) || NB::IsMenuBar(pWalk) || (nOptions & 0x08) != 0))
            continue;
        if (NB::DockBar(pWalk) != NULL)
        {
            hWndStop = hWalk;
            if (NB::IsFloating(pWalk))
                eStop = __STOP_PAIR;
            else
            {
                eStop = __STOP_BAR;
                bBarHorz = NB::IsDockedHorizontally(pWalk);
            }
            break;
        }
        if ((nOptions & 0x04) != 0)
        {
            hWndStop = hWalk;
            eStop = __STOP_BAR;
            bBarHorz = (NB::BarStyle(pWalk) & (CBRS_ALIGN_LEFT | CBRS_ALIGN_RIGHT)) == 0;
            break;
        }
    }
    if (hWndStop == NULL)
        return false;

    if (NB::PaintChildAreas(hWnd, dc, bClientOnly))
        return true;

    const RECT rc = MapClientRect(hWndStop, hWnd, bClientOnly);
    if (IsEmptyOrInvisible(dc, rc))
        return true;

    switch (eStop)
    {
    case __STOP_PAIR:
    {
        COLORREF clrTop = LookupColor(3000, pWnd, lParam);
        COLORREF clrBottom = LookupColor(3001, pWnd, lParam);
        if (IsDcRTL(dc))
            std::swap(clrTop, clrBottom);
        GradientFillRect(dc, rc, clrBottom, clrTop, true, 256);
        break;
    }
    case __STOP_BAR:
    {
        COLORREF clrBase = 0;
        if (UsesLunaColors() && GetLunaBaseColors(&clrBase, NULL))
        {
            const COLORREF clr1 = CExtBitmap::stat_HLS_Adjust(clrBase, 0.0, 0.77, 0.15);
            const COLORREF clr2 = CExtBitmap::stat_HLS_Adjust(clrBase, 0.0, 0.58, 0.15);
            COLORREF clr3 = CExtBitmap::stat_HLS_Adjust(clrBase, 0.0, -0.25, -0.25);
            if (GetLunaColorScheme() == 3)
                clr3 = CExtBitmap::stat_HLS_Adjust(clr3, 0.05, 0.0, 0.05);
            GradientFillTwoPart(dc, rc, clr1, clr2, clr3, bBarHorz, 2, 5, 256);
        }
        else
        {
            const COLORREF clrStart = LookupColor(3015, pWnd, lParam);
            const COLORREF clrEnd = LookupColor(3017, pWnd, lParam);
            if (bBarHorz)
                GradientFillRect(dc, rc, clrEnd, clrStart, true, 256);
            else
                GradientFillRect(dc, rc, clrStart, clrEnd, false, 256);
        }
        break;
    }
    default:
        // The plain stopping window: its control background, mapped like the gradients.
        FillControlBackground(false, dc, rc, pWnd, lParam);
        break;
    }
    return true;
}

bool CExtPaintManager::DrawWindowClientBackground(CDC& dc, CWnd* pWnd, LPARAM lParam)
{
    return DrawWindowBackground(true, dc, pWnd, lParam);
}

// ---- toolbars and dock bars ----------------------------------------------------------------

void CExtPaintManager::FillToolbarArea(CDC&, CExtToolControlBar*, DWORD, const RECT&) {}

void CExtPaintManagerOffice2003::FillToolbarArea(CDC& dc, CExtToolControlBar* pBar, DWORD,
                                                 const RECT& rcArea)
{
    CObject* pHelperSrc = reinterpret_cast<CObject*>(pBar);
    GradientFillRect(dc, rcArea, LookupColor(3017, pHelperSrc),
                     LookupColor(_2003CLR_SEPARATOR_LIGHT, pHelperSrc), true, 256);
}

void CExtPaintManager::DrawToolbarBackground(CDC& dc, const RECT& rc, CObject* pHelperSrc,
                                             LPARAM lParam)
{
    if (IsEmptyOrInvisible(dc, rc))
        return;
    if (NB::IsToolBar(pHelperSrc) && (NB::BarOptions(pHelperSrc) & 0x08) != 0 &&
        AskParentForBackground(true, dc, pHelperSrc, lParam))
        return;
    dc.FillSolidRect(&rc, LookupColor(CLR_3DFACE_OUT, pHelperSrc, lParam));
}

SIZE CExtPaintManagerOffice2003::GetToolbarRoundedCornerSize()
{
    SIZE sz = {4, 4};
    return sz;
}

void CExtPaintManagerOffice2003::PaintToolbarBarGradient(CDC& dc, CWnd* pBar, bool bHorz,
                                                         LPARAM lParam)
{
    HWND hWndBar = pBar->GetSafeHwnd();
    if (hWndBar == NULL)
        return;
    RECT rcBar;
    ::GetWindowRect(hWndBar, &rcBar);
    ::MapWindowPoints(NULL, hWndBar, reinterpret_cast<POINT*>(&rcBar), 2);

    SIZE szCorner = GetToolbarRoundedCornerSize();
    if (g_CurrentPaintManager.IsWin9x())
    {
        // Windows 9x cuts round regions one step tighter.
        if (szCorner.cx >= 1 && szCorner.cx <= 4)
            szCorner.cx += 3;
        if (szCorner.cy >= 1 && szCorner.cy <= 4)
            szCorner.cy += 3;
    }
    int nIdxShadow = -1;
    HRGN hRgnClip = NULL;
    if (szCorner.cx > 0 && szCorner.cy > 0 && NB::IsDockedAtFrameSide(pBar))
    {
        nIdxShadow = m_nIdxClrTbBorder;
        if (NB::ToolbarShape(pBar) != 0)
        {
            hRgnClip = ::CreateRoundRectRgn(rcBar.left, rcBar.top, rcBar.right, rcBar.bottom,
                                            szCorner.cx, szCorner.cy);
            // The start of the bar stays square.
            HRGN hRgnStart =
                bHorz ? ::CreateRectRgn(rcBar.left, rcBar.top, rcBar.left + szCorner.cx + 2,
                                        rcBar.bottom - 1)
                      : ::CreateRectRgn(rcBar.left, rcBar.top, rcBar.right - 1,
                                        rcBar.top + szCorner.cy + 2);
            if (hRgnClip != NULL && hRgnStart != NULL)
                ::CombineRgn(hRgnClip, hRgnClip, hRgnStart, RGN_OR);
            if (hRgnStart != NULL)
                ::DeleteObject(hRgnStart);
        }
        else
            hRgnClip = ::CreateRoundRectRgn(rcBar.left, rcBar.top, rcBar.right - 1,
                                            rcBar.bottom - 1, szCorner.cx, szCorner.cy);
        if (hRgnClip != NULL)
            ::SelectClipRgn(dc.GetSafeHdc(), hRgnClip);
    }
    DrawGradientBackground(dc, rcBar, bHorz, pBar, lParam, COLORREF(-1), COLORREF(-1));
    if (nIdxShadow >= 0)
    {
        const COLORREF clrShadow = LookupColor(nIdxShadow, pBar, lParam);
        RECT rcLine = rcBar;
        if (bHorz)
        {
            rcLine.top = rcBar.bottom - 2;
            rcLine.bottom = rcLine.top + 1;
        }
        else
        {
            rcLine.left = rcBar.right - 2;
            rcLine.right = rcLine.left + 1;
        }
        dc.FillSolidRect(&rcLine, clrShadow);
    }
    if (hRgnClip != NULL)
    {
        ::SelectClipRgn(dc.GetSafeHdc(), NULL);
        ::DeleteObject(hRgnClip);
    }
}

void CExtPaintManagerOffice2003::DrawToolbarBackground(CDC& dc, const RECT& rc,
                                                       CObject* pHelperSrc, LPARAM lParam)
{
    CWnd* pBar = AsWindow(pHelperSrc);
    if (pBar != NULL && NB::IsToolBar(pBar) && !NB::IsMenuBar(pBar) && !NB::IsPanelBar(pBar) &&
        GetDcBitsPerPixel(dc.GetSafeHdc()) > 8 && pBar->GetSafeHwnd() != NULL)
    {
        const BYTE nOptions = NB::BarOptions(pBar);
        CWnd* pDockBar = NB::DockBar(pBar);
        const bool bFloating = NB::IsFloating(pBar);
        if ((nOptions & 0x04) != 0 || (pDockBar != NULL && (nOptions & 0x08) == 0) || bFloating)
        {
            HWND hWndBar = pBar->GetSafeHwnd();
            HWND hWndContainer = NULL;
            if (pDockBar != NULL)
            {
                CWnd* pSite = NB::DockSite(pBar);
                hWndContainer = (pSite != NULL) ? pSite->GetSafeHwnd() : ::GetParent(hWndBar);
            }
            else
            {
                // A bar without a dock bar continues its parent's background: a child
                // window, or the frame (or dialog) it sits in.
                hWndContainer = ::GetParent(hWndBar);
            }
            bool bTakeXp = (hWndContainer == NULL);
            if (!bTakeXp)
            {
                CWnd* pContainer = CWnd::FromHandlePermanent(hWndContainer);
                const bool bMiniFrame = pContainer != NULL && NB::IsMiniDockFrame(pContainer);
                HWND hWndTopDock = ::GetDlgItem(hWndContainer, 0xE81B);
                CWnd* pTopDock =
                    (hWndTopDock != NULL) ? CWnd::FromHandlePermanent(hWndTopDock) : NULL;
                const bool bOuterDock =
                    pTopDock != NULL && NB::IsDockOuterBar(pTopDock);
                if (!bMiniFrame && !bOuterDock && (nOptions & 0x04) == 0)
                    bTakeXp = true;
            }
            if (!bTakeXp)
            {
                const RECT rcContainer = MapClientRect(hWndContainer, hWndBar, true);
                if (IsEmptyOrInvisible(dc, rcContainer))
                    return;
                const bool bHorz =
                    !(NB::IsDockedAtFrameSide(pBar) && NB::IsDockedVertically(pBar));
                DrawWindowBackground(true, dc, pBar, lParam);
                if (pDockBar != NULL && (NB::DockBarOptions2(pBar) & 0x04) != 0)
                    return;
                if (pDockBar == NULL && (nOptions & 0x04) == 0)
                    return;
                PaintToolbarBarGradient(dc, pBar, bHorz, lParam);
                return;
            }
        }
    }
    if (pBar != NULL && UsesParentBackground(pBar, lParam) &&
        DrawWindowBackground(true, dc, pBar, lParam))
        return;
    CExtPaintManager::DrawToolbarBackground(dc, rc, pHelperSrc, lParam);
}

void CExtPaintManager::DrawDockBarBackground(CDC& dc, const RECT& rc, CObject* pHelperSrc,
                                             LPARAM lParam)
{
    if (IsEmptyOrInvisible(dc, rc))
        return;
    if (AskParentForBackground(true, dc, pHelperSrc, lParam))
        return;
    dc.FillSolidRect(&rc, LookupColor(COLOR_BTNFACE, pHelperSrc, lParam));
}

void CExtPaintManagerOffice2003::DrawDockBarBackground(CDC& dc, const RECT& rc,
                                                       CObject* pHelperSrc, LPARAM lParam)
{
    CWnd* pDockBar = AsWindow(pHelperSrc);
    if (pDockBar != NULL && NB::IsDockOuterBar(pDockBar) &&
        pDockBar->GetSafeHwnd() != NULL)
    {
        HWND hWndFrame = ::GetParent(pDockBar->GetSafeHwnd());
        if (hWndFrame != NULL)
        {
            const RECT rcFrame = MapClientRect(hWndFrame, pDockBar->GetSafeHwnd(), true);
            if (IsEmptyOrInvisible(dc, rcFrame))
                return;
            if (GetDcBitsPerPixel(dc.GetSafeHdc()) > 8)
            {
                if (!AskParentForBackground(true, dc, pDockBar, lParam))
                    FillControlBackground(false, dc, rcFrame, pDockBar, lParam);
                return;
            }
        }
    }
    CExtPaintManager::DrawDockBarBackground(dc, rc, pHelperSrc, lParam);
}

void CExtPaintManager::FillBarGap(CDC& dc, const RECT& rc, CObject* pHelperSrc, LPARAM lParam)
{
    if (IsEmptyOrInvisible(dc, rc))
        return;
    dc.FillSolidRect(&rc, LookupColor(COLOR_BTNSHADOW, pHelperSrc, lParam));
}

void CExtPaintManagerXP::FillBarGap(CDC& dc, const RECT& rc, CObject* pHelperSrc, LPARAM lParam)
{
    if (IsEmptyOrInvisible(dc, rc))
        return;
    dc.FillSolidRect(&rc, LookupColor(CLR_3DFACE_OUT, pHelperSrc, lParam));
}

void CExtPaintManager::DrawArrowButton(CDC& dc, bool bHorz, const RECT& rc, int nDirection,
                                       bool bHover, bool bPushed, CObject* pHelperSrc,
                                       LPARAM lParam)
{
    if (IsEmptyOrInvisible(dc, rc))
        return;
    dc.FillSolidRect(&rc, LookupColor(COLOR_BTNFACE, pHelperSrc, lParam));
    RECT rcGlyph = rc;
    if (bPushed)
        ::OffsetRect(&rcGlyph, 1, 1);
    const int nGlyph = (bHorz ? 4 : 2) + ((nDirection != 0) ? 0 : 1);
    const COLORREF arrColors[2] = {0, LookupColor(COLOR_BTNTEXT, pHelperSrc, lParam)};
    DrawGlyph(dc, rcGlyph, *g_ButtonGlyphs[nGlyph], arrColors);
    int nOuterTL = 20, nOuterBR = 16, nInnerTL = 15, nInnerBR = 15;
    if (bPushed)
    {
        nOuterTL = 21;
        nOuterBR = 20;
        nInnerTL = 16;
        nInnerBR = 15;
    }
    else if (bHover)
    {
        nOuterTL = 15;
        nOuterBR = 21;
        nInnerTL = 20;
        nInnerBR = 16;
    }
    dc.Draw3dRect(&rc, LookupColor(nOuterTL, pHelperSrc, lParam),
                  LookupColor(nOuterBR, pHelperSrc, lParam));
    RECT rcInner = rc;
    ::InflateRect(&rcInner, -1, -1);
    dc.Draw3dRect(&rcInner, LookupColor(nInnerTL, pHelperSrc, lParam),
                  LookupColor(nInnerBR, pHelperSrc, lParam));
}
