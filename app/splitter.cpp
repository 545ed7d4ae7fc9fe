#include "app/splitter.h"
#include "toolkit/core/message_point.h"
#include <algorithm>

IMPLEMENT_DYNAMIC(CExtSplitter, CWnd)

BEGIN_MESSAGE_MAP(CExtSplitter, CWnd)
    ON_WM_CREATE()
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_SIZE()
    ON_WM_LBUTTONDOWN()
    ON_WM_MOUSEMOVE()
    ON_WM_LBUTTONUP()
    ON_WM_CAPTURECHANGED()
    ON_WM_LBUTTONDBLCLK()
    ON_WM_SETCURSOR()
    ON_WM_SETFOCUS()
    ON_WM_MOUSEACTIVATE()
    ON_WM_SETTINGCHANGE()
END_MESSAGE_MAP()

CExtSplitter::CExtSplitter()
    : m_bVertical(true),
      m_nPosition(-1),
      m_nFocusPane(-1),
      m_nBarSize(0),
      m_hCursor(NULL),
      m_nMinPane(0),
      m_nBarExtra(0),
      m_bFullDrag(true),
      m_nDragOffset(0),
      m_nKeep(0),
      m_bTrackKeep(true),
      m_nKeepMode(KEEP_PROPORTION),
      m_nSinglePane(-1),
      m_nFirmPane(0),
      m_bTrackerShown(false)
{
    m_hWndPane[0] = m_hWndPane[1] = NULL;
    m_nPaneMin[0] = m_nPaneMin[1] = 0;
    ::SetRectEmpty(&m_rcLayout);
    RegisterWithHolder();
}

CExtSplitter::~CExtSplitter() { UnregisterFromHolder(); }

void CExtSplitter::RegisterWithHolder() { g_CurrentPaintManager.RegisterBridge(this); }
void CExtSplitter::UnregisterFromHolder() { g_CurrentPaintManager.UnregisterBridge(this); }
HWND CExtSplitter::GetBridgeHwnd() { return GetSafeHwnd(); }
CExtPaintManager* CExtSplitter::GetPaintManager() { return g_CurrentPaintManager.GetPM(); }

BOOL CExtSplitter::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID, DWORD dwExStyle)
{
    LPCTSTR lpszClass = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursor(NULL, IDC_ARROW), NULL, NULL);
    return CWnd::CreateEx(dwExStyle, lpszClass, "", dwStyle | WS_CHILD, rect, pParentWnd, nID);
}

// ---- geometry --------------------------------------------------------------------------

void CExtSplitter::ReadMetrics()
{
    bool bClientEdge = m_hWnd != NULL && (GetExStyle() & WS_EX_CLIENTEDGE) != 0;
    int nEdge = ::GetSystemMetrics(m_bVertical ? SM_CXEDGE : SM_CYEDGE);
    m_nBarSize = ::GetSystemMetrics(m_bVertical ? SM_CXFRAME : SM_CYFRAME);
    m_nBarExtra = bClientEdge ? 2 * nEdge : 0;
    m_nMinPane = bClientEdge ? 0 : 2 * nEdge;
    BOOL bFullDrag = TRUE;
    if (::SystemParametersInfoA(SPI_GETDRAGFULLWINDOWS, 0, &bFullDrag, 0)) m_bFullDrag = bFullDrag != FALSE;
}

int CExtSplitter::LayoutLength() const
{
    return m_bVertical ? m_rcLayout.right - m_rcLayout.left : m_rcLayout.bottom - m_rcLayout.top;
}

int CExtSplitter::UsableLength() const { return LayoutLength() - m_nBarSize - m_nBarExtra; }

int CExtSplitter::LayoutStart() const { return m_bVertical ? m_rcLayout.left : m_rcLayout.top; }

bool CExtSplitter::SetPosition(int nPos, bool bRelayout)
{
    int L = LayoutLength();
    if (nPos == -1) nPos = (L - m_nBarSize - m_nBarExtra) / 2;
    if (nPos < m_nMinPane + m_nBarExtra)
        nPos = m_nMinPane;
    else if (nPos > L - m_nBarSize - m_nMinPane - m_nBarExtra)
        nPos = L - m_nBarSize - m_nMinPane - m_nBarExtra;
    nPos = ClampToPaneMinimums(nPos);
    bool bChanged = nPos != m_nPosition;
    m_nPosition = nPos;

    if (!m_bTrackKeep) {
        // A resize is applying the kept value; recomputing it would let it drift.
        m_bTrackKeep = true;
    } else {
        int U = UsableLength();
        if (m_nKeepMode & KEEP_PROPORTION)
            m_nKeep = U < 1 ? 0 : ::MulDiv(m_nPosition, 10000, U);
        else if (m_nKeepMode & KEEP_SECOND_PANE)
            m_nKeep = U < 1 ? 0 : U - m_nPosition;
    }
    if (bRelayout && bChanged) RecalcLayout();
    return bChanged;
}

int CExtSplitter::ClampToPaneMinimums(int nPos) const
{
    if (m_nPaneMin[0] <= 0 && m_nPaneMin[1] <= 0) return nPos;
    // The position is the first pane's size; the second gets the usable length's rest.
    const int U = UsableLength() > 0 ? UsableLength() : 0;
    const int nLow = std::min(std::max(m_nPaneMin[0], m_nMinPane), U);
    const int nHigh = std::max(U - std::max(m_nPaneMin[1], m_nMinPane), 0);
    if (nLow > nHigh) return m_nFirmPane == 0 ? nLow : nHigh;
    return std::min(std::max(nPos, nLow), nHigh);
}

void CExtSplitter::SetPaneMinimums(int nFirst, int nSecond, int nFirmPane)
{
    m_nPaneMin[0] = std::max(nFirst, 0);
    m_nPaneMin[1] = std::max(nSecond, 0);
    m_nFirmPane = nFirmPane == 1 ? 1 : 0;
    if (m_nPosition == -1) return;
    // Clamped as a resize clamps: what the user chose is kept for a larger layout.
    m_bTrackKeep = false;
    SetPosition(m_nPosition, true);
}

void CExtSplitter::SetLayoutRect(const RECT* pRect)
{
    if (pRect != NULL)
        m_rcLayout = *pRect;
    else if (m_hWnd != NULL)
        GetClientRect(&m_rcLayout);
    int U = UsableLength();
    if (m_nKeepMode & KEEP_PROPORTION) {
        if (U > 0) {
            m_bTrackKeep = false;
            SetPosition(::MulDiv(m_nKeep, U, 10000), false);
        }
    } else if (m_nKeepMode & KEEP_SECOND_PANE) {
        if (U > 0) {
            m_bTrackKeep = false;
            SetPosition(U - m_nKeep, false);
        }
    }
    RecalcLayout();
}

bool CExtSplitter::GetBarRect(RECT* pRect) const
{
    if (m_nSinglePane != -1 || m_nPosition == -1 || pRect == NULL) return false;
    *pRect = m_rcLayout;
    int nStart = LayoutStart() + m_nPosition;
    if (m_bVertical) {
        pRect->left = nStart;
        pRect->right = nStart + m_nBarSize + m_nBarExtra;
    } else {
        pRect->top = nStart;
        pRect->bottom = nStart + m_nBarSize + m_nBarExtra;
    }
    return true;
}

bool CExtSplitter::GetPaneRect(int nIndex, RECT* pRect) const
{
    if (pRect == NULL || (nIndex != 0 && nIndex != 1)) return false;
    if (m_nSinglePane != -1) {
        if (nIndex != m_nSinglePane) return false;
        *pRect = m_rcLayout;
        return true;
    }
    if (m_nPosition == -1) return false;
    *pRect = m_rcLayout;
    int nBarStart = LayoutStart() + m_nPosition;
    int nBarEnd = nBarStart + m_nBarSize + m_nBarExtra;
    if (m_bVertical) {
        if (nIndex == 0)
            pRect->right = nBarStart;
        else
            pRect->left = nBarEnd;
    } else {
        if (nIndex == 0)
            pRect->bottom = nBarStart;
        else
            pRect->top = nBarEnd;
    }
    return true;
}

bool CExtSplitter::HitTestBar(int x, int y) const
{
    RECT rcBar;
    if (!GetBarRect(&rcBar)) return false;
    if (x != -1 && (x < m_rcLayout.left || x >= m_rcLayout.right)) return false;
    if (y != -1 && (y < m_rcLayout.top || y >= m_rcLayout.bottom)) return false;
    if (m_bVertical) return x != -1 && x >= rcBar.left && x < rcBar.right;
    return y != -1 && y >= rcBar.top && y < rcBar.bottom;
}

bool CExtSplitter::ShowPane(int nIndex)
{
    if (nIndex == 0 || nIndex == 1) {
        HWND hOther = m_hWndPane[1 - nIndex];
        if (hOther != NULL && ::IsWindow(hOther)) ::ShowWindow(hOther, SW_HIDE);
        HWND hShown = m_hWndPane[nIndex];
        if (hShown != NULL && ::IsWindow(hShown)) ::ShowWindow(hShown, SW_SHOW);
        m_nFocusPane = nIndex;
        m_nSinglePane = nIndex;
    } else if (nIndex == -1) {
        if (m_nSinglePane != -1) {
            HWND hHidden = m_hWndPane[1 - m_nSinglePane];
            if (hHidden != NULL && ::IsWindow(hHidden)) ::ShowWindow(hHidden, SW_SHOW);
        }
        m_nSinglePane = -1;
    } else {
        return false;
    }
    RecalcLayout();
    if (m_hWnd != NULL) Invalidate(TRUE);
    return true;
}

void CExtSplitter::RecalcLayout()
{
    if (m_nSinglePane == -1 && m_nPosition == -1) return;
    if (m_hWnd == NULL) return;
    RECT rcBar;
    if (m_nSinglePane == -1 && GetBarRect(&rcBar)) InvalidateRect(&rcBar, TRUE);
    // Both panes move in one batch. Moved one after the other, the growing pane would
    // lie over its neighbour for a moment, and the neighbour's move would carry those
    // pixels along as its own content.
    HWND hMoved[2] = {NULL, NULL};
    RECT rcMoved[2];
    int nMoved = 0;
    for (int i = 0; i < 2; ++i) {
        if (m_nSinglePane != -1 && m_nSinglePane != i) continue;
        RECT rcPane;
        if (!GetPaneRect(i, &rcPane)) continue;
        HWND hPane = m_hWndPane[i];
        if (hPane != NULL && ::IsWindow(hPane)) {
            hMoved[nMoved] = hPane;
            rcMoved[nMoved++] = rcPane;
        } else {
            InvalidateRect(&rcPane, TRUE);
        }
    }
    HDWP hDWP = nMoved > 0 ? ::BeginDeferWindowPos(nMoved) : NULL;
    for (int i = 0; i < nMoved && hDWP != NULL; ++i)
        hDWP = ::DeferWindowPos(hDWP, hMoved[i], NULL, rcMoved[i].left, rcMoved[i].top,
                                rcMoved[i].right - rcMoved[i].left, rcMoved[i].bottom - rcMoved[i].top, SWP_NOZORDER);
    if (hDWP == NULL || !::EndDeferWindowPos(hDWP)) {
        for (int i = 0; i < nMoved; ++i)
            ::SetWindowPos(hMoved[i], NULL, rcMoved[i].left, rcMoved[i].top, rcMoved[i].right - rcMoved[i].left,
                           rcMoved[i].bottom - rcMoved[i].top, SWP_NOZORDER);
    }
    // A pane's children and borders are part of what the move uncovered: the pane alone
    // (it clips its children) would leave them with the pixels copied from the old place.
    for (int i = 0; i < nMoved; ++i)
        ::RedrawWindow(hMoved[i], NULL, NULL,
                       RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

// ---- painting --------------------------------------------------------------------------

void CExtSplitter::DrawEmptyArea(CDC& dc, const RECT& rc)
{
    RECT rcArea = rc;
    if ((GetExStyle() & WS_EX_CLIENTEDGE) == 0) ::DrawEdge(dc.m_hDC, &rcArea, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
    dc.FillSolidRect(&rcArea, ::GetSysColor(COLOR_APPWORKSPACE));
}

void CExtSplitter::OnPaint()
{
    if (m_nSinglePane == -1 && m_nPosition == -1) SetPosition(-1, true);
    CPaintDC dc(this);
    if (m_nSinglePane != -1) {
        HWND hPane = m_hWndPane[m_nSinglePane];
        if (hPane == NULL || !::IsWindow(hPane)) DrawEmptyArea(dc, m_rcLayout);
        return;
    }
    RECT rcBar;
    if (!GetBarRect(&rcBar)) return;
    CExtPaintManager* pPM = GetPaintManager();
    if (pPM != NULL)
        pPM->DrawToolbarBackground(dc, rcBar, this);
    else
        dc.FillSolidRect(&rcBar, ::GetSysColor(COLOR_BTNFACE));
    for (int i = 0; i < 2; ++i) {
        RECT rcPane;
        HWND hPane = m_hWndPane[i];
        if ((hPane == NULL || !::IsWindow(hPane)) && GetPaneRect(i, &rcPane)) DrawEmptyArea(dc, rcPane);
    }
}

BOOL CExtSplitter::OnEraseBkgnd(CDC*) { return TRUE; }

void CExtSplitter::DrawTracker()
{
    RECT rcBar;
    if (!GetBarRect(&rcBar)) return;
    // The bar in window coordinates: the client area may sit inside a border.
    CRect rcWindow, rcClient;
    GetWindowRect(&rcWindow);
    GetClientRect(&rcClient);
    ClientToScreen(&rcClient);
    ::OffsetRect(&rcBar, rcClient.left - rcWindow.left, rcClient.top - rcWindow.top);
    CWindowDC dc(this);
    CBrush* pOldBrush = dc.SelectObject(CDC::GetHalftoneBrush());
    dc.PatBlt(rcBar.left, rcBar.top, rcBar.right - rcBar.left, rcBar.bottom - rcBar.top, PATINVERT);
    if (pOldBrush != NULL) dc.SelectObject(pOldBrush);
    m_bTrackerShown = !m_bTrackerShown;
}

// ---- messages --------------------------------------------------------------------------

int CExtSplitter::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CWnd::OnCreate(lpCreateStruct) == -1) return -1;
    ReadMetrics();
    return 0;
}

void CExtSplitter::OnSize(UINT nType, int cx, int cy)
{
    CWnd::OnSize(nType, cx, cy);
    // The splitter always sits at its parent's origin.
    CRect rcWindow;
    GetWindowRect(&rcWindow);
    CWnd* pParent = GetParent();
    if (pParent != NULL) pParent->ScreenToClient(&rcWindow);
    if (rcWindow.left != 0 || rcWindow.top != 0) MoveWindow(0, 0, rcWindow.Width(), rcWindow.Height(), TRUE);
    if (nType != SIZE_MINIMIZED) {
        RECT rc = {0, 0, cx, cy};
        SetLayoutRect(&rc);
    }
}

void CExtSplitter::OnLButtonDown(UINT nFlags, CPoint point)
{
    if (HitTestBar(point.x, point.y)) {
        SetCapture();
        if (m_hCursor != NULL) ::SetCursor(m_hCursor);
        if (!m_bFullDrag) DrawTracker();
        m_nDragOffset = (m_bVertical ? point.x : point.y) - m_nPosition - LayoutStart();
    }
    CWnd::OnLButtonDown(nFlags, point);
}

void CExtSplitter::OnMouseMove(UINT nFlags, CPoint point)
{
    if ((nFlags & MK_LBUTTON) != 0 && ::GetCapture() == m_hWnd) {
        int nPos = (m_bVertical ? point.x : point.y) - m_nDragOffset - LayoutStart();
        // -1 would mean "the middle".
        if (nPos == -1) nPos = -2;
        if (nPos == m_nPosition) return;
        if (m_bFullDrag) {
            if (SetPosition(nPos, true)) UpdateWindow();
        } else {
            if (m_bTrackerShown) DrawTracker();
            SetPosition(nPos, false);
            DrawTracker();
        }
        return;
    }
    if (HitTestBar(point.x, point.y) && m_hCursor != NULL) ::SetCursor(m_hCursor);
    CWnd::OnMouseMove(nFlags, point);
}

void CExtSplitter::OnLButtonUp(UINT nFlags, CPoint point)
{
    if (::GetCapture() == m_hWnd) ::ReleaseCapture();
    CWnd::OnLButtonUp(nFlags, point);
}

void CExtSplitter::OnCaptureChanged(CWnd* pWnd)
{
    if (!m_bFullDrag) {
        if (m_bTrackerShown) DrawTracker();
        RecalcLayout();
        UpdateWindow();
    }
    CWnd::OnCaptureChanged(pWnd);
}

void CExtSplitter::OnLButtonDblClk(UINT, CPoint) { SetPosition(-1, true); }

BOOL CExtSplitter::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message)
{
    if (pWnd == this && nHitTest == HTCLIENT) {
        DWORD dwPos = ::GetMessagePos();
        CPoint pt((short)LOWORD(dwPos), (short)HIWORD(dwPos));
        ScreenToClient(&pt);
        if (HitTestBar(pt.x, pt.y)) {
            if (m_hCursor != NULL) ::SetCursor(m_hCursor);
            return TRUE;
        }
    }
    return CWnd::OnSetCursor(pWnd, nHitTest, message);
}

void CExtSplitter::OnSetFocus(CWnd* pOldWnd)
{
    CWnd::OnSetFocus(pOldWnd);
    int nPane = m_nSinglePane != -1 ? m_nSinglePane : m_nFocusPane;
    if (nPane == 0 || nPane == 1) {
        HWND hPane = m_hWndPane[nPane];
        if (hPane != NULL && ::IsWindow(hPane)) ::SetFocus(hPane);
    }
}

int CExtSplitter::OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message)
{
    int nResult = CWnd::OnMouseActivate(pDesktopWnd, nHitTest, message);
    if (nResult == MA_ACTIVATE || nResult == MA_ACTIVATEANDEAT) {
        // The pane the press was made on, not the one the pointer has moved to since.
        const CPoint pt = MessagePoint(m_hWnd, WM_MOUSEACTIVATE, 0);
        for (int i = 0; i < 2; ++i) {
            RECT rcPane;
            if (GetPaneRect(i, &rcPane) && ::PtInRect(&rcPane, pt)) m_nFocusPane = i;
        }
    }
    return nResult;
}

void CExtSplitter::OnSettingChange(UINT uFlags, LPCTSTR lpszSection)
{
    CWnd::OnSettingChange(uFlags, lpszSection);
    ReadMetrics();
    RecalcLayout();
}
