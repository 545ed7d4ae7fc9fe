// The drag state record: what a drop would do now, its comparison and emptying, the
// tracking outline it draws, and the bar's grab offsets and partner queries it reads.
#include "toolkit/bars/control_bar.h"
#include "toolkit/bars/dyn_tab_control_bar.h"
#include "toolkit/bars/drag_tab_strip.h"

CRuntimeClass CExtControlBar::InternalDraggingState_t::classInternalDraggingState_t = {
    "CExtControlBar::InternalDraggingState_t", (int)sizeof(CExtControlBar::InternalDraggingState_t), 0xFFFF, NULL,
    &CObject::GetThisClass, NULL, NULL};
static const AFX_CLASSINIT g_initDraggingState(&CExtControlBar::InternalDraggingState_t::classInternalDraggingState_t);
CRuntimeClass* CExtControlBar::InternalDraggingState_t::GetRuntimeClass() const
{
    return &classInternalDraggingState_t;
}

CExtControlBar::InternalDraggingState_t CExtControlBar::g_DraggingState;
CExtControlBar::InternalDraggingState_t CExtControlBar::g_DraggingStateNew;
bool CExtControlBar::g_bDragUpdateInProgress = false;
bool CExtControlBar::g_bIdleWhileDragging = false;

CExtControlBar::InternalDraggingState_t::InternalDraggingState_t()
    : m_nFlags(__EMPTY), m_nKind(0), m_nFixedCursorKind(0), m_nRing(0), m_pBarSrc(NULL), m_pBarDst(NULL),
      m_nTabIndex(0)
{
    ::SetRectEmpty(&m_rcTrack);
}

CExtControlBar::InternalDraggingState_t::InternalDraggingState_t(const InternalDraggingState_t& other)
    : CObject(), m_nFlags(other.m_nFlags), m_nKind(other.m_nKind), m_nFixedCursorKind(other.m_nFixedCursorKind),
      m_nRing(other.m_nRing), m_rcTrack(other.m_rcTrack), m_pBarSrc(other.m_pBarSrc), m_pBarDst(other.m_pBarDst),
      m_nTabIndex(other.m_nTabIndex)
{
}

CExtControlBar::InternalDraggingState_t::~InternalDraggingState_t() {}

void CExtControlBar::InternalDraggingState_t::ReleaseTabHighlight(CExtControlBar* pBar)
{
    if (pBar != NULL && pBar->IsKindOf(RUNTIME_CLASS(CExtDynTabControlBar)))
        DragTabStrip::RemovePreview(pBar);
}

CExtControlBar::InternalDraggingState_t& CExtControlBar::InternalDraggingState_t::operator=(
    const InternalDraggingState_t& other)
{
    if (this == &other)
        return *this;
    if (m_pBarDst != other.m_pBarDst)
        ReleaseTabHighlight(m_pBarDst);
    m_nFlags = BYTE((m_nFlags & ~(__EMPTY | __PART_OF_TARGET)) | (other.m_nFlags & (__EMPTY | __PART_OF_TARGET)));
    m_nKind = other.m_nKind;
    m_nFixedCursorKind = other.m_nFixedCursorKind;
    m_nRing = other.m_nRing;
    m_rcTrack = other.m_rcTrack;
    m_pBarSrc = other.m_pBarSrc;
    m_pBarDst = other.m_pBarDst;
    m_nTabIndex = other.m_nTabIndex;
    return *this;
}

bool CExtControlBar::InternalDraggingState_t::operator==(const InternalDraggingState_t& other) const
{
    return IsEmpty() == other.IsEmpty() && m_nKind == other.m_nKind && m_nRing == other.m_nRing &&
           ::EqualRect(&m_rcTrack, &other.m_rcTrack) && m_pBarSrc == other.m_pBarSrc &&
           m_pBarDst == other.m_pBarDst && IsPartOfTarget() == other.IsPartOfTarget() &&
           m_nTabIndex == other.m_nTabIndex;
}

void CExtControlBar::InternalDraggingState_t::SetEmpty(bool bEmpty)
{
    m_nFixedCursorKind = 0;
    if (bEmpty)
    {
        SetTargetBar(NULL);
        ::SetRectEmpty(&m_rcTrack);
        m_nFlags |= __EMPTY;
    }
    else
        m_nFlags &= ~__EMPTY;
    m_nTabIndex = 0;
}

void CExtControlBar::InternalDraggingState_t::SetPartOfTarget(bool bSet)
{
    if (bSet)
        m_nFlags |= __PART_OF_TARGET;
    else
        m_nFlags &= ~__PART_OF_TARGET;
}

CExtControlBar* CExtControlBar::InternalDraggingState_t::SetTargetBar(CExtControlBar* pBar, bool bKeepHighlight)
{
    CExtControlBar* pOld = m_pBarDst;
    m_pBarDst = pBar;
    if (!bKeepHighlight && pOld != pBar)
        ReleaseTabHighlight(pOld);
    m_nTabIndex = 0;
    return pOld;
}

void CExtControlBar::InternalDraggingState_t::SetTabIndexFromPoint(int x, int y)
{
    m_nTabIndex = 0;
    if (m_pBarDst == NULL || !m_pBarDst->IsKindOf(RUNTIME_CLASS(CExtDynTabControlBar)))
        return;
    const int nIndex = DragTabStrip::HitTestScreen(m_pBarDst, CPoint(x, y));
    if (nIndex >= 0)
        m_nTabIndex = nIndex;
}

// ---- the tracking outline ------------------------------------------------------------------

void CExtControlBar::InternalDraggingState_t::DrawTracking(bool bErase)
{
    CExtControlBar* pSrc = m_pBarSrc;
    if (m_nKind == 13 || pSrc == NULL || pSrc->GetSafeHwnd() == NULL || pSrc->IsFixedMode())
        return;
    const bool bLive = pSrc->UsesDockMarkerDrag();
    if (!bLive && ::IsRectEmpty(&m_rcTrack))
        return;
    CFrameWnd* pMini = pSrc->IsFloating() ? pSrc->GetParentFrame() : NULL;
    if (pMini != NULL && !pMini->IsKindOf(RUNTIME_CLASS(CExtMiniDockFrameWnd)))
        pMini = NULL;
    if (m_nKind >= 28 && m_nKind <= 30 && m_pBarDst != NULL && m_pBarDst->GetSafeHwnd() != NULL)
    {
        if (bLive && pMini != NULL && !bErase)
            pMini->ShowWindow(SW_HIDE);
        if (m_pBarDst->IsKindOf(RUNTIME_CLASS(CExtDynTabControlBar)))
        {
            if (m_nKind == 29 || m_nKind == 30)
                DragTabStrip::RemovePreview(m_pBarDst);
            if (!bErase)
                DragTabStrip::ShowPreview(m_pBarDst, pSrc, GetTabIndexForDrop());
        }
        return;
    }
    if (bLive)
    {
        if (pMini != NULL && (pMini->GetStyle() & WS_VISIBLE) == 0)
            pMini->ShowWindow(SW_SHOWNOACTIVATE);
        return;
    }
    CRect rc(m_rcTrack);
    if (m_pBarDst != NULL && m_pBarDst->GetSafeHwnd() != NULL && m_pBarDst->m_pDockBar != NULL &&
        m_pBarDst->m_pDockBar->GetSafeHwnd() != NULL)
    {
        CRect rcDock;
        m_pBarDst->m_pDockBar->GetWindowRect(&rcDock);
        if (!rc.IntersectRect(&rc, &rcDock))
            return;
    }
    if (rc.Width() < 2 * ::GetSystemMetrics(SM_CXFRAME) + 1 || rc.Height() < 2 * ::GetSystemMetrics(SM_CYFRAME) + 1)
        return;
    CWnd* pWndDraw = NULL;
    CFrameWnd* pSite = pSrc->m_pDockSite;
    if (m_nKind >= 5 && m_nKind <= 12 && m_pBarDst == NULL)
        pWndDraw = pSite;
    else if (m_pBarDst != NULL && m_pBarDst->GetDockingFrame() == pSite)
        pWndDraw = pSite;
    CRect rcDraw(rc);
    HWND hWndDraw = NULL;
    if (pWndDraw != NULL && pWndDraw->GetSafeHwnd() != NULL)
    {
        hWndDraw = pWndDraw->m_hWnd;
        CRect rcWnd;
        pWndDraw->GetWindowRect(&rcWnd);
        rcDraw.OffsetRect(-rcWnd.left, -rcWnd.top);
    }
    else
        hWndDraw = ::GetDesktopWindow();
    HDC hDC = ::GetDCEx(hWndDraw, NULL, DCX_WINDOW | DCX_CACHE | DCX_CLIPSIBLINGS | DCX_LOCKWINDOWUPDATE);
    if (hDC == NULL)
        return;
    if (::RectVisible(hDC, &rcDraw))
    {
        CDC* pDC = CDC::FromHandle(hDC);
        DRAW_TRACKED_AREA_DATA data(pSrc, pDC, m_nKind == 27 ? 3 : 2, rcDraw, bErase);
        data.Draw();
    }
    ::ReleaseDC(hWndDraw, hDC);
}

// ---- the bar's side of dragging ---------------------------------------------------------------

CExtControlBar* CExtControlBar::GetDraggedBar()
{
    if (!g_DraggingState.IsEmpty() && g_DraggingState.m_pBarSrc != NULL)
        return g_DraggingState.m_pBarSrc;
    return g_pDraggedBar;
}

CSize CExtControlBar::GetGrabOffset(int nLayout) const
{
    switch (nLayout)
    {
    case 1: return CSize(m_rcDragValue.left, m_rcDragValue.top);
    case 2: return CSize(m_rcDragValue.right, m_rcDragValue.bottom);
    default: return CSize(m_ptDragValue.x, m_ptDragValue.y);
    }
}

void CExtControlBar::SetGrabOffset(int nLayout, const CSize& size)
{
    switch (nLayout)
    {
    case 1:
        m_rcDragValue.left = size.cx;
        m_rcDragValue.top = size.cy;
        break;
    case 2:
        m_rcDragValue.right = size.cx;
        m_rcDragValue.bottom = size.cy;
        break;
    default:
        m_ptDragValue.x = size.cx;
        m_ptDragValue.y = size.cy;
        break;
    }
}

int CExtControlBar::GetGrabLayout() const
{
    if (IsFloating())
        return 0;
    return IsDockedHorizontally() ? 1 : 2;
}

CRect CExtControlBar::CalcFloatingRectAt(int x, int y)
{
    CRect rc(0, 0, m_sizeFloated.cx, m_sizeFloated.cy);
    CFrameWnd* pFrame = GetParentFrame();
    if (IsFloating() && pFrame != NULL && pFrame->IsKindOf(RUNTIME_CLASS(CMiniFrameWnd)))
    {
        pFrame->GetWindowRect(&rc);
        rc.OffsetRect(-rc.left, -rc.top);
    }
    const CSize szGrab = GetGrabOffset(0);
    rc.OffsetRect(x - szGrab.cx, y - szGrab.cy);
    return rc;
}

bool CExtControlBar::AreTabMates(const CExtControlBar* pA, const CExtControlBar* pB)
{
    return pA != NULL && pB != NULL && pA->IsTabMateAllowed(pB) && pB->IsTabMateAllowed(pA);
}

bool CExtControlBar::AreNeighbours(const CExtControlBar* pA, const CExtControlBar* pB)
{
    return pA != NULL && pB != NULL && pA->CanBeDockedBeside(pB) && pB->CanBeDockedBeside(pA);
}
