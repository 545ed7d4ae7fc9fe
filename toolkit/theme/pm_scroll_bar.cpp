// The scroll-bar painting record: the geometry of arrows, thumb and page areas from the
// bar's scroll information, the hit test, and the painting with visual styles, with
// DrawFrameControl, or from a theme's skin.
#include "toolkit/theme/pm_scroll_bar.h"

#include <algorithm>

typedef CExtPaintManager::PAINTSCROLLBARDATA PAINTSCROLLBARDATA;

// ---- the skin ----------------------------------------------------------------------------

IMPLEMENT_DYNAMIC(CExtScrollBarSkin, CObject)

CExtScrollBarSkin::CExtScrollBarSkin()
{
    ::SetRectEmpty(&m_rcMargins);
    for (int s = 0; s < __STATE_COUNT; s++)
        for (int e = 0; e < __ELEMENT_COUNT; e++)
            ::SetRectEmpty(&m_arrPadding[s][e]);
}

CExtScrollBarSkin::~CExtScrollBarSkin() {}

const CExtBitmap* CExtScrollBarSkin::GetElementImage(int nState, int nElement) const
{
    if (nState < 0 || nState >= __STATE_COUNT || nElement < 0 || nElement >= __ELEMENT_COUNT)
        return NULL;
    return &m_arrImages[nState][nElement];
}

RECT CExtScrollBarSkin::GetElementPadding(int nState, int nElement) const
{
    RECT rc = {0, 0, 0, 0};
    if (nState >= 0 && nState < __STATE_COUNT && nElement >= 0 && nElement < __ELEMENT_COUNT)
        rc = m_arrPadding[nState][nElement];
    return rc;
}

// ---- the bar's answers -------------------------------------------------------------------

namespace {
const CExtScrollBarPaintHooks* g_pBarHooks = NULL;
}

void PAINTSCROLLBARDATA::stat_SetBarHooks(const CExtScrollBarPaintHooks* pHooks)
{
    g_pBarHooks = pHooks;
}

const CExtScrollBarPaintHooks* PAINTSCROLLBARDATA::stat_GetBarHooks() { return g_pBarHooks; }

// ---- construction and geometry -----------------------------------------------------------

PAINTSCROLLBARDATA::PAINTSCROLLBARDATA() {}

PAINTSCROLLBARDATA::PAINTSCROLLBARDATA(CExtScrollBar* pScrollBar, bool bHoveredAreaIsPressed,
                                       int eHoverPart, LPARAM lParam)
    : m_bHorzBar(false),
      m_bEnabled(false),
      m_bHoveredAreaIsPressed(bHoveredAreaIsPressed),
      m_bAlwaysSet(true),
      m_bReserved4(false),
      m_bReserved5(false),
      m_bReserved6(false),
      m_bReserved7(false),
      m_eHoverPart(eHoverPart),
      m_pScrollBar(pScrollBar),
      m_lParam(lParam)
{
    ::SetRectEmpty(&m_rcBar);
    ::SetRectEmpty(&m_rcFirstPage);
    ::SetRectEmpty(&m_rcSecondPage);
    ::SetRectEmpty(&m_rcFirstArrow);
    ::SetRectEmpty(&m_rcSecondArrow);
    ::SetRectEmpty(&m_rcThumb);
    ::SetRectEmpty(&m_rcTrack);
    ::memset(&m_DSI, 0, sizeof(m_DSI));
    ComputeGeometry();
}

PAINTSCROLLBARDATA::~PAINTSCROLLBARDATA() {}

namespace {

// Access to the near and far edges along the bar.
LONG& Near(RECT& rc, bool bHorz) { return bHorz ? rc.left : rc.top; }
LONG& Far(RECT& rc, bool bHorz) { return bHorz ? rc.right : rc.bottom; }

}  // namespace

void PAINTSCROLLBARDATA::ComputeGeometry()
{
    if (m_pScrollBar == NULL || g_pBarHooks == NULL || g_pBarHooks->m_pfnGetWnd == NULL ||
        g_pBarHooks->m_pfnGetOrientationKind == NULL || g_pBarHooks->m_pfnGetMetrics == NULL)
        return;
    const int nKind = g_pBarHooks->m_pfnGetOrientationKind(m_pScrollBar);
    if (nKind < 0 || nKind > 3)
        return;
    const bool bHorz = nKind <= 1;
    m_bHorzBar = bHorz;
    CWnd* pWnd = g_pBarHooks->m_pfnGetWnd(m_pScrollBar);
    HWND hWnd = (pWnd != NULL) ? pWnd->GetSafeHwnd() : NULL;
    if (hWnd != NULL)
        ::GetClientRect(hWnd, &m_rcBar);

    SCROLLINFO si;
    ::memset(&si, 0, sizeof(si));
    if (hWnd != NULL && ::IsWindowEnabled(hWnd))
    {
        m_bEnabled = true;
        si.cbSize = sizeof(SCROLLINFO);
        si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_TRACKPOS;
        if (!::GetScrollInfo(hWnd, SB_CTL, &si))
        {
            int nMin = 0, nMax = 0;
            ::GetScrollRange(hWnd, SB_CTL, &nMin, &nMax);
            si.nMin = nMin;
            si.nMax = nMax;
            si.nPage = 0;
            si.nPos = si.nTrackPos = ::GetScrollPos(hWnd, SB_CTL);
        }
        m_DSI = si;
    }

    // The working copy counts from 0.
    int nMax = si.nMax - si.nMin;
    int nPos = si.nPos - si.nMin;
    int nTrackPos = si.nTrackPos - si.nMin;
    const int nPage = (int)si.nPage;
    (void)nPos;
    if (0 < nMax && nMax < 0x7FFFFFFE && nPage != 0 && nPage == nMax)
    {
        // A page as large as the range reaches one past it: count that position too.
        nMax++;
        if (nPos > 0)
            nPos++;
        if (nTrackPos > 0)
            nTrackPos++;
    }
    const int nScrollable = nMax - nPage + 1;

    int arrMetrics[4] = {0, 0, 0, 0};
    g_pBarHooks->m_pfnGetMetrics(m_pScrollBar, arrMetrics);
    const int nArrow = bHorz ? arrMetrics[0] : arrMetrics[1];
    int nMinThumb = bHorz ? arrMetrics[2] : arrMetrics[3];

    int nThumb = 0;
    bool bProportional = false;
    if (nScrollable > 0)
    {
        if (nPage == 0)
            nThumb = (nArrow != 0) ? nArrow : 6;
        else if (nMax > nPage)
            bProportional = true;
    }
    if (!m_bEnabled)
    {
        nThumb = 0;
        nMinThumb = 0;
        bProportional = false;
    }

    m_rcFirstArrow = m_rcBar;
    m_rcSecondArrow = m_rcBar;
    Far(m_rcFirstArrow, bHorz) = Near(m_rcFirstArrow, bHorz) + nArrow;
    Near(m_rcSecondArrow, bHorz) = Far(m_rcSecondArrow, bHorz) - nArrow;
    RECT rcTrack = m_rcBar;
    Near(rcTrack, bHorz) += nArrow;
    Far(rcTrack, bHorz) -= nArrow;
    const int nTrack = Far(rcTrack, bHorz) - Near(rcTrack, bHorz);

    if (nTrack > 5)
    {
        if (bProportional)
            nThumb = ::MulDiv(nTrack, nPage, nMax);
        if (m_bEnabled && nThumb < nMinThumb)
            nThumb = nMinThumb;
        if (nThumb != 0)
        {
            m_rcThumb = rcTrack;
            Far(m_rcThumb, bHorz) = Near(m_rcThumb, bHorz) + nThumb;
            if (nScrollable > 0)
            {
                const int nOffset = ::MulDiv(std::max(0, nTrack - nThumb), nTrackPos, nScrollable);
                Near(m_rcThumb, bHorz) += nOffset;
                Far(m_rcThumb, bHorz) += nOffset;
                if (nTrackPos > 0)
                {
                    m_rcFirstPage = rcTrack;
                    Far(m_rcFirstPage, bHorz) = Near(m_rcThumb, bHorz);
                }
                if (nTrackPos < nScrollable)
                {
                    m_rcSecondPage = rcTrack;
                    Near(m_rcSecondPage, bHorz) = Far(m_rcThumb, bHorz);
                }
            }
        }
    }

    if (!::IsRectEmpty(&m_rcFirstArrow) && !::IsRectEmpty(&m_rcSecondArrow) &&
        Far(m_rcFirstArrow, bHorz) > Near(m_rcSecondArrow, bHorz))
    {
        // Shorter than its two arrows: each arrow gets half, nothing else shows.
        const LONG nMiddle =
            Near(m_rcFirstArrow, bHorz) +
            (Far(m_rcSecondArrow, bHorz) - Near(m_rcFirstArrow, bHorz)) / 2;
        Far(m_rcFirstArrow, bHorz) = nMiddle;
        Near(m_rcSecondArrow, bHorz) = nMiddle;
        ::SetRectEmpty(&m_rcThumb);
        ::SetRectEmpty(&m_rcFirstPage);
        ::SetRectEmpty(&m_rcSecondPage);
    }

    m_rcTrack = m_rcBar;
    Near(m_rcTrack, bHorz) = Far(m_rcFirstArrow, bHorz);
    Far(m_rcTrack, bHorz) = Near(m_rcSecondArrow, bHorz);
}

// ---- hit testing -------------------------------------------------------------------------

int PAINTSCROLLBARDATA::HitTest(const POINT& pt) const
{
    if (::IsRectEmpty(&m_rcBar))
        return __PART_NONE;
    const struct
    {
        const RECT* pRect;
        int ePart;
    } parts[] = {{&m_rcFirstArrow, __PART_FIRST_ARROW},
                 {&m_rcSecondArrow, __PART_SECOND_ARROW},
                 {&m_rcThumb, __PART_THUMB},
                 {&m_rcFirstPage, __PART_FIRST_PAGE},
                 {&m_rcSecondPage, __PART_SECOND_PAGE}};
    for (const auto& p : parts)
        if (!::IsRectEmpty(p.pRect) && ::PtInRect(p.pRect, pt))
            return p.ePart;
    return __PART_NONE;
}

int PAINTSCROLLBARDATA::TrackHoverPart(const POINT& pt)
{
    m_eHoverPart = HitTest(pt);
    return m_eHoverPart;
}

void PAINTSCROLLBARDATA::PartRect(RECT& rc, int ePart) const
{
    switch (ePart)
    {
    case __PART_FIRST_ARROW:
        rc = m_rcFirstArrow;
        break;
    case __PART_SECOND_ARROW:
        rc = m_rcSecondArrow;
        break;
    case __PART_THUMB:
        rc = m_rcThumb;
        break;
    case __PART_FIRST_PAGE:
        rc = m_rcFirstPage;
        break;
    case __PART_SECOND_PAGE:
        rc = m_rcSecondPage;
        break;
    default:
        ::SetRect(&rc, 0, 0, 0, 0);
        break;
    }
}

void PAINTSCROLLBARDATA::GetHoverPartRect(RECT& rc) const { PartRect(rc, m_eHoverPart); }

// ---- painting ----------------------------------------------------------------------------

void PAINTSCROLLBARDATA::Paint(CDC& dc, CExtPaintManager& pm)
{
    if (::IsRectEmpty(&m_rcBar) || !dc.RectVisible(&m_rcBar))
        return;
    CObject* pSkin = pm.GetScrollBarSkin(m_bHorzBar, m_pScrollBar, m_lParam, m_bAlwaysSet);
    if (pSkin != NULL && pSkin->IsKindOf(RUNTIME_CLASS(CExtScrollBarSkin)))
    {
        PaintSkinned(dc, pm, *static_cast<CExtScrollBarSkin*>(pSkin), 255);
        return;
    }
    CBrush& brush = pm.GetAuxBrush(1);
    if (brush.GetSafeHandle() != NULL)
        dc.FillRect(&m_rcBar, &brush);
    if (PaintThemed(dc))
        return;
    PaintClassic(dc, pm);
}

bool PAINTSCROLLBARDATA::PaintThemed(CDC& dc)
{
    UxThemeLibrary& ux = g_CurrentPaintManager.m_UxTheme;
    if (!ux.IsUsable(true))
        return false;
    CWnd* pWnd = (m_pScrollBar != NULL && g_pBarHooks != NULL && g_pBarHooks->m_pfnGetWnd != NULL)
                     ? g_pBarHooks->m_pfnGetWnd(m_pScrollBar)
                     : NULL;
    HWND hWnd = (pWnd != NULL) ? pWnd->GetSafeHwnd() : NULL;
    if (hWnd == NULL)
        hWnd = ::GetDesktopWindow();
    if (ux.OpenThemeData(hWnd, L"SCROLLBAR") == NULL)
        return false;
    const bool bHorz = m_bHorzBar, bEnabled = m_bEnabled, bPressed = m_bHoveredAreaIsPressed;
    HDC hDC = dc.GetSafeHdc();
    // disabled, pressed, hot, normal
    auto state = [&](int ePart, int nDisabled, int nPressed, int nHot, int nNormal) {
        if (!bEnabled)
            return nDisabled;
        if (m_eHoverPart == ePart)
            return bPressed ? nPressed : nHot;
        return nNormal;
    };
    auto draw = [&](const RECT& rc, int nPart, int nState) {
        if (::IsRectEmpty(&rc) || !dc.RectVisible(&rc))
            return;
        ux.DrawThemeBackground(hDC, nPart, nState, &rc, &rc);
    };
    draw(m_rcFirstArrow, 1,
         bHorz ? state(__PART_FIRST_ARROW, 12, 11, 10, 9) : state(__PART_FIRST_ARROW, 4, 3, 2, 1));
    draw(m_rcSecondArrow, 1,
         bHorz ? state(__PART_SECOND_ARROW, 16, 15, 14, 13)
               : state(__PART_SECOND_ARROW, 8, 7, 6, 5));
    draw(m_rcSecondPage, bHorz ? 4 : 6, state(__PART_SECOND_PAGE, 4, 3, 2, 1));
    draw(m_rcFirstPage, bHorz ? 5 : 7, state(__PART_FIRST_PAGE, 4, 3, 2, 1));
    if (bEnabled)
    {
        draw(m_rcThumb, bHorz ? 2 : 3, state(__PART_THUMB, 4, 3, 2, 1));
        draw(m_rcThumb, bHorz ? 8 : 9, 0);
    }
    ux.CloseThemeData();
    return true;
}

void PAINTSCROLLBARDATA::PaintClassic(CDC& dc, CExtPaintManager& pm)
{
    const bool bHorz = m_bHorzBar, bEnabled = m_bEnabled, bPressed = m_bHoveredAreaIsPressed;
    const bool bFlat = (pm.m_nScrollBarFlags & 0x01) != 0;
    UINT nCommon = 0;
    if (!bEnabled)
        nCommon = DFCS_INACTIVE;
    else if (bFlat && m_eHoverPart == __PART_NONE)
        nCommon = DFCS_FLAT;
    auto pushed = [&](int ePart) -> UINT {
        return (bEnabled && bPressed && m_eHoverPart == ePart) ? (DFCS_PUSHED | DFCS_FLAT) : 0;
    };
    if (!::IsRectEmpty(&m_rcFirstArrow))
    {
        RECT rc = m_rcFirstArrow;
        dc.DrawFrameControl(&rc, DFC_SCROLL,
                            (bHorz ? DFCS_SCROLLLEFT : DFCS_SCROLLUP) |
                                pushed(__PART_FIRST_ARROW) | nCommon);
    }
    if (!::IsRectEmpty(&m_rcSecondArrow))
    {
        RECT rc = m_rcSecondArrow;
        dc.DrawFrameControl(&rc, DFC_SCROLL,
                            (bHorz ? DFCS_SCROLLRIGHT : DFCS_SCROLLDOWN) |
                                pushed(__PART_SECOND_ARROW) | nCommon);
    }
    if (bEnabled && (m_eHoverPart == __PART_FIRST_PAGE || m_eHoverPart == __PART_SECOND_PAGE) &&
        (bPressed || bFlat))
    {
        const RECT& rcPage =
            (m_eHoverPart == __PART_FIRST_PAGE) ? m_rcFirstPage : m_rcSecondPage;
        CBrush& brush = pm.GetAuxBrush(bPressed ? 11 : 3);
        if (!::IsRectEmpty(&rcPage) && brush.GetSafeHandle() != NULL)
            dc.FillRect(&rcPage, &brush);
    }
    if (bEnabled && !::IsRectEmpty(&m_rcThumb))
    {
        RECT rc = m_rcThumb;
        const UINT nThumb = (bPressed && bFlat && m_eHoverPart == __PART_THUMB)
                                ? (DFCS_BUTTONPUSH | DFCS_PUSHED | DFCS_FLAT)
                                : DFCS_BUTTONPUSH;
        dc.DrawFrameControl(&rc, DFC_BUTTON, nThumb | nCommon);
    }
}

void PAINTSCROLLBARDATA::PaintSkinned(CDC& dc, CExtPaintManager&, CExtScrollBarSkin& skin,
                                      BYTE nSCA)
{
    HDC hDC = dc.GetSafeHdc();
    if (!skin.m_bmpBackground.IsEmpty())
        skin.m_bmpBackground.AlphaBlendWhole(hDC, m_rcBar, nSCA);
    const bool bHorz = m_bHorzBar;
    auto movedIn = [&](RECT rc) {
        if (bHorz)
        {
            rc.left += skin.m_rcMargins.left;
            rc.right -= skin.m_rcMargins.right;
        }
        else
        {
            rc.top += skin.m_rcMargins.top;
            rc.bottom -= skin.m_rcMargins.bottom;
        }
        return rc;
    };
    const RECT arrRects[CExtScrollBarSkin::__ELEMENT_COUNT] = {
        m_rcTrack,       movedIn(m_rcFirstArrow), movedIn(m_rcSecondArrow),
        movedIn(m_rcThumb), m_rcFirstPage,        m_rcSecondPage,
        movedIn(m_rcFirstArrow), movedIn(m_rcSecondArrow), movedIn(m_rcThumb)};
    static const int arrParts[CExtScrollBarSkin::__ELEMENT_COUNT] = {
        __PART_NONE,  __PART_FIRST_ARROW, __PART_SECOND_ARROW, __PART_THUMB, __PART_FIRST_PAGE,
        __PART_SECOND_PAGE, __PART_FIRST_ARROW, __PART_SECOND_ARROW, __PART_THUMB};
    for (int nElement = 0; nElement < CExtScrollBarSkin::__ELEMENT_COUNT; nElement++)
    {
        const RECT& rc = arrRects[nElement];
        if (::IsRectEmpty(&rc))
            continue;
        int nState = 0;
        if (m_bEnabled)
        {
            nState = (m_eHoverPart == __PART_NONE) ? 1 : 2;
            if (arrParts[nElement] != __PART_NONE && arrParts[nElement] == m_eHoverPart)
                nState = m_bHoveredAreaIsPressed ? 4 : 3;
        }
        const CExtBitmap* pImage = skin.GetElementImage(nState, nElement);
        if (pImage == NULL || pImage->IsEmpty())
            continue;
        const RECT rcPadding = skin.GetElementPadding(nState, nElement);
        if (nElement <= 5)
        {
            pImage->AlphaBlendSkinPartsWhole(hDC, rc, rcPadding, CExtBitmap::__EDM_NINE_STRETCH,
                                             true, true, nSCA);
            continue;
        }
        // Glyphs and the gripper keep their size and show only where they fit.
        const CSize sz = pImage->GetSize();
        const int cx = rc.right - rc.left - rcPadding.left - rcPadding.right;
        const int cy = rc.bottom - rc.top - rcPadding.top - rcPadding.bottom;
        if (sz.cx > cx || sz.cy > cy)
            continue;
        if (nElement == 8)
        {
            const int nThumb = bHorz ? (rc.right - rc.left) : (rc.bottom - rc.top);
            const int nGripper = bHorz ? sz.cx : sz.cy;
            if (nThumb < nGripper + 4)
                continue;
        }
        const int x = rc.left + (rc.right - rc.left - sz.cx) / 2;
        const int y = rc.top + (rc.bottom - rc.top - sz.cy) / 2;
        pImage->AlphaBlendWholeAt(hDC, x, y, sz.cx, sz.cy, nSCA);
    }
}

// ---- the paint-manager operation ---------------------------------------------------------

void CExtPaintManager::DrawScrollBar(CDC& dc, PAINTSCROLLBARDATA& _psbd) { _psbd.Paint(dc, *this); }
