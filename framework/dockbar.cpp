// CDockBar: rows of docked bars along one side of a frame, and CDockContext.
#include "framework/dockbar.h"
#include "framework/frame.h"
#include "framework/miniframe.h"
#include "framework/dc.h"
#include "framework/app.h"
#include <algorithm>
using std::max;

IMPLEMENT_DYNAMIC(CDockBar, CControlBar)

BEGIN_MESSAGE_MAP(CDockBar, CControlBar)
    ON_MESSAGE(WM_SIZEPARENT, &CDockBar::OnSizeParent)
    ON_WM_NCCALCSIZE()
    ON_WM_NCPAINT()
    ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

static inline BOOL IsBarEntry(void* p) { return p != NULL && (UINT_PTR)p > 0xFFFF; }

CDockBar::CDockBar(BOOL bFloating) : m_bFloating(bFloating), m_bLayoutQuery(FALSE) {
    m_bAutoDelete = TRUE;
    m_arrBars.Add(NULL);
    m_rectLayout.SetRectEmpty();
    // Dock bars have no margins of their own; their bars bring theirs.
    m_cxLeftBorder = m_cxRightBorder = m_cyBottomBorder = m_cyTopBorder = 0;
}

CDockBar::~CDockBar() {
    // Bars still docked here outlive it only as undocked bars.
    for (int i = 0; i < m_arrBars.GetSize(); i++) {
        CControlBar* pBar = GetDockedControlBar(i);
        if (pBar != NULL && pBar->m_pDockBar == this) pBar->m_pDockBar = NULL;
    }
}

BOOL CDockBar::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID) {
    m_dwStyle = (dwStyle & CBRS_ALL);
    LPCTSTR lpszClass = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursor(NULL, IDC_ARROW),
                                            (HBRUSH)(COLOR_BTNFACE + 1));
    CRect rect;
    rect.SetRectEmpty();
    // The parent sizes the dock bar in its layout pass.
    return CWnd::Create(lpszClass, NULL, dwStyle, rect, pParentWnd, nID);
}

CControlBar* CDockBar::GetDockedControlBar(int nPos) const {
    if (nPos < 0 || nPos >= m_arrBars.GetSize()) return NULL;
    void* p = m_arrBars[nPos];
    return IsBarEntry(p) ? (CControlBar*)p : NULL;
}

int CDockBar::FindBar(CControlBar* pBar, int nPosExclude) {
    for (int nPos = 0; nPos < m_arrBars.GetSize(); nPos++) {
        if (nPos != nPosExclude && m_arrBars[nPos] == pBar) return nPos;
    }
    return -1;
}

int CDockBar::GetDockedCount() const {
    int nCount = 0;
    for (int i = 0; i < m_arrBars.GetSize(); i++)
        if (GetDockedControlBar(i) != NULL) nCount++;
    return nCount;
}

int CDockBar::GetDockedVisibleCount() const {
    int nCount = 0;
    for (int i = 0; i < m_arrBars.GetSize(); i++) {
        CControlBar* pBar = GetDockedControlBar(i);
        if (pBar != NULL && pBar->IsVisible()) nCount++;
    }
    return nCount;
}

void CDockBar::ShowAll(BOOL bShow) {
    for (int i = 0; i < m_arrBars.GetSize(); i++) {
        CControlBar* pBar = GetDockedControlBar(i);
        if (pBar != NULL) {
            CFrameWnd* pFrame = pBar->GetDockingFrame();
            if (pFrame != NULL) pFrame->ShowControlBar(pBar, bShow, TRUE);
        }
    }
}

void CDockBar::RemovePlaceHolder(CControlBar* pBar) {
    if (pBar == NULL || pBar->m_hWnd == NULL) return;
    void* pID = (void*)(UINT_PTR)(UINT)(WORD)pBar->GetDlgCtrlID();
    if (pID == NULL) return;
    int nPos = FindBar((CControlBar*)pID);
    if (nPos > 0) {
        m_arrBars.RemoveAt(nPos);
        // a row left empty goes too
        if (nPos < m_arrBars.GetSize() && m_arrBars[nPos - 1] == NULL && m_arrBars[nPos] == NULL)
            m_arrBars.RemoveAt(nPos);
    }
}

int CDockBar::Insert(CControlBar* pBarIns, CRect rect, CPoint ptMid) {
    BOOL bHorz = (m_dwStyle & CBRS_ORIENT_HORZ) != 0;
    int nPosInsAfter = 0;
    int nWidth = 0;
    int nTotalWidth = 0;
    for (int nPos = 0; nPos < m_arrBars.GetSize(); nPos++) {
        CControlBar* pBar = GetDockedControlBar(nPos);
        if (pBar != NULL && pBar->IsVisible()) {
            CRect rectBar;
            pBar->GetWindowRect(&rectBar);
            ScreenToClient(&rectBar);
            nWidth = max(nWidth, (int)(bHorz ? rectBar.Size().cy : rectBar.Size().cx - 1));
            if (bHorz ? rect.left > rectBar.left : rect.top > rectBar.top) nPosInsAfter = nPos;
        } else if (m_arrBars[nPos] == NULL) {
            // A row end: the point falls into the row just passed?
            nTotalWidth += nWidth - (bHorz ? AfxGetCyBorder2() : AfxGetCxBorder2());
            nWidth = 0;
            if ((bHorz ? ptMid.y : ptMid.x) < nTotalWidth) {
                if (nPos == 0) m_arrBars.InsertAt(nPosInsAfter + 1, (void*)NULL);
                m_arrBars.InsertAt(nPosInsAfter + 1, pBarIns);
                return nPosInsAfter + 1;
            }
            nPosInsAfter = nPos;
        }
    }
    // Past every row: a new one at the end.
    m_arrBars.InsertAt(nPosInsAfter + 1, (void*)NULL);
    m_arrBars.InsertAt(nPosInsAfter + 1, pBarIns);
    return nPosInsAfter + 1;
}

void CDockBar::DockControlBar(CControlBar* pBar, LPCRECT lpRect) {
    if (pBar == NULL || pBar->m_hWnd == NULL) return;
    CRect rectBar;
    pBar->GetWindowRect(&rectBar);
    if (pBar->m_pDockBar == this && (lpRect == NULL || rectBar == *lpRect)) return;  // nothing moves

    if (m_bFloating && (pBar->m_dwDockStyle & CBRS_FLOAT_MULTI)) m_dwStyle |= CBRS_FLOAT_MULTI;
    m_dwStyle &= ~(CBRS_SIZE_FIXED | CBRS_SIZE_DYNAMIC);
    m_dwStyle |= pBar->m_dwStyle & (CBRS_SIZE_FIXED | CBRS_SIZE_DYNAMIC);
    if (!(m_dwStyle & CBRS_FLOAT_MULTI)) {
        // A floating frame with a single bar bears the bar's title.
        char szTitle[MAX_PATH];
        szTitle[0] = 0;
        ::GetWindowTextA(pBar->m_hWnd, szTitle, MAX_PATH);
        ::SetWindowTextA(m_hWnd, szTitle);
    }

    // The bar takes this side's alignment and every border.
    DWORD dwStyle = pBar->GetBarStyle();
    dwStyle &= ~CBRS_ALIGN_ANY;
    dwStyle |= (m_dwStyle & CBRS_ALIGN_ANY) | CBRS_BORDER_ANY;
    if (m_bFloating)
        dwStyle |= CBRS_FLOATING;
    else
        dwStyle &= ~CBRS_FLOATING;
    pBar->SetBarStyle(dwStyle);

    // Hidden while it changes parent, so it does not flash at the old place.
    BOOL bShow = FALSE;
    if (pBar->m_pDockBar != this && pBar->IsWindowVisible()) {
        pBar->SetWindowPos(NULL, 0, 0, 0, 0,
                           SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_HIDEWINDOW);
        bShow = TRUE;
    }

    int nPos = -1;
    if (lpRect != NULL) {
        CRect rect(lpRect);
        ScreenToClient(&rect);
        CPoint ptMid(rect.left + rect.Width() / 2, rect.top + rect.Height() / 2);
        nPos = Insert(pBar, rect, ptMid);
        pBar->SetWindowPos(NULL, rect.left, rect.top, rect.Width(), rect.Height(),
                           SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOCOPYBITS);
    } else {
        // A row of its own at the end.
        m_arrBars.Add(pBar);
        m_arrBars.Add(NULL);
        pBar->SetWindowPos(NULL, -AfxGetCxBorder2(), -AfxGetCyBorder2(), 0, 0,
                           SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOCOPYBITS);
    }

    if (pBar->GetParent() != this) pBar->SetParent(this);
    if (pBar->m_pDockBar == this)
        RemoveControlBar(pBar, nPos);
    else if (pBar->m_pDockBar != NULL)
        pBar->m_pDockBar->RemoveControlBar(pBar, -1, m_bFloating && !pBar->m_pDockBar->m_bFloating);
    pBar->m_pDockBar = this;

    if (bShow)
        pBar->SetWindowPos(NULL, 0, 0, 0, 0,
                           SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);

    RemovePlaceHolder(pBar);
    CFrameWnd* pFrame = GetDockingFrame();
    if (pFrame != NULL) pFrame->DelayRecalcLayout();
}

void CDockBar::ReDockControlBar(CControlBar* pBar, LPCRECT lpRect) {
    if (pBar == NULL || pBar->m_hWnd == NULL) return;
    // Back to the place its placeholder kept, else as a new docking.
    void* pID = (void*)(UINT_PTR)(UINT)(WORD)pBar->GetDlgCtrlID();
    int nPos = (pID != NULL) ? FindBar((CControlBar*)pID) : -1;
    if (nPos <= 0 || pBar->m_pDockBar == this) {
        DockControlBar(pBar, lpRect);
        return;
    }
    DWORD dwStyle = pBar->GetBarStyle();
    dwStyle &= ~(CBRS_ALIGN_ANY | CBRS_FLOATING);
    dwStyle |= (m_dwStyle & CBRS_ALIGN_ANY) | CBRS_BORDER_ANY;
    if (m_bFloating) dwStyle |= CBRS_FLOATING;
    pBar->SetBarStyle(dwStyle);
    BOOL bShow = pBar->IsWindowVisible();
    if (bShow)
        pBar->SetWindowPos(NULL, 0, 0, 0, 0,
                           SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_HIDEWINDOW);
    m_arrBars[nPos] = pBar;
    if (pBar->GetParent() != this) pBar->SetParent(this);
    if (pBar->m_pDockBar != NULL) pBar->m_pDockBar->RemoveControlBar(pBar);
    pBar->m_pDockBar = this;
    if (bShow)
        pBar->SetWindowPos(NULL, 0, 0, 0, 0,
                           SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    CFrameWnd* pFrame = GetDockingFrame();
    if (pFrame != NULL) pFrame->DelayRecalcLayout();
}

BOOL CDockBar::RemoveControlBar(CControlBar* pBar, int nPosExclude, int nAddPlaceHolder) {
    int nPos = FindBar(pBar, nPosExclude);
    if (nPos <= 0) return FALSE;

    if (nAddPlaceHolder == 1) {
        m_arrBars[nPos] = (void*)(UINT_PTR)(UINT)(WORD)pBar->GetDlgCtrlID();
        // Only one placeholder per bar.
        int nPosOld = FindBar((CControlBar*)m_arrBars[nPos], nPos);
        if (nPosOld > 0) {
            m_arrBars.RemoveAt(nPos);
            if (nPos < m_arrBars.GetSize() && m_arrBars[nPos - 1] == NULL && m_arrBars[nPos] == NULL)
                m_arrBars.RemoveAt(nPos);
        }
    } else {
        m_arrBars.RemoveAt(nPos);
        if (nPos < m_arrBars.GetSize() && m_arrBars[nPos - 1] == NULL && m_arrBars[nPos] == NULL)
            m_arrBars.RemoveAt(nPos);
        if (nAddPlaceHolder != -1) RemovePlaceHolder(pBar);
    }
    if (pBar->m_pDockBar == this) pBar->m_pDockBar = NULL;

    // Shutting down: nothing more to lay out.
    if (pBar->m_pDockContext == NULL || m_hWnd == NULL) return FALSE;

    CFrameWnd* pFrame = GetDockingFrame();
    if (pFrame == NULL) return FALSE;
    if (m_bFloating && GetDockedVisibleCount() == 0) {
        if (GetDockedCount() == 0) {
            pFrame->DestroyWindow();  // the floating frame goes, and this dock bar with it
            return TRUE;
        }
        pFrame->ShowWindow(SW_HIDE);
    } else {
        pFrame->DelayRecalcLayout();
    }
    return FALSE;
}

CSize CDockBar::CalcFixedLayout(BOOL bStretch, BOOL bHorz) {
    CSize sizeFixed = CControlBar::CalcFixedLayout(bStretch, bHorz);

    CSize sizeMax;
    if (!m_rectLayout.IsRectEmpty())
        sizeMax = m_rectLayout.Size();
    else {
        CRect rectFrame;
        CFrameWnd* pFrame = GetParentFrame();
        if (pFrame != NULL)
            pFrame->GetClientRect(&rectFrame);
        else
            GetClientRect(&rectFrame);
        sizeMax = rectFrame.Size();
    }

    const int cxBorder2 = AfxGetCxBorder2(), cyBorder2 = AfxGetCyBorder2();
    AFX_SIZEPARENTPARAMS layout;
    layout.hDWP = m_bLayoutQuery ? NULL : ::BeginDeferWindowPos((int)m_arrBars.GetSize());
    layout.rect = CRect(0, 0, 0, 0);
    layout.sizeTotal = CSize(0, 0);
    layout.bStretch = bStretch;

    // Bars of a row overlap by their borders, and so do rows.
    CPoint pt(-cxBorder2, -cyBorder2);
    int nWidth = 0;
    BOOL bWrapped = FALSE;

    for (int nPos = 0; nPos < m_arrBars.GetSize(); nPos++) {
        CControlBar* pBar = GetDockedControlBar(nPos);
        void* pVoid = m_arrBars[nPos];
        if (pBar != NULL) {
            if (pBar->IsVisible()) {
                DWORD dwMode = 0;
                if ((pBar->m_dwStyle & CBRS_SIZE_DYNAMIC) && (pBar->m_dwStyle & CBRS_FLOATING))
                    dwMode |= LM_HORZ | LM_MRUWIDTH;
                else if (pBar->m_dwStyle & CBRS_ORIENT_HORZ)
                    dwMode |= LM_HORZ | LM_HORZDOCK;
                else
                    dwMode |= LM_VERTDOCK;
                CSize sizeBar = pBar->CalcDynamicLayout(-1, dwMode);
                CRect rect(pt, sizeBar);

                CRect rectBar;
                pBar->GetWindowRect(&rectBar);
                ScreenToClient(&rectBar);

                if (bHorz) {
                    // Keep a bar the user moved right where it is.
                    if (rectBar.left > rect.left && !m_bFloating) rect.OffsetRect(rectBar.left - rect.left, 0);
                    // Off the right end: right-justify as far as the row allows.
                    if (rect.right > sizeMax.cx && !m_bFloating) {
                        int x = rect.Width() - cxBorder2;
                        x = max((int)(sizeMax.cx - x), (int)pt.x);
                        rect.OffsetRect(x - rect.left, 0);
                    }
                    if (bWrapped) {
                        bWrapped = FALSE;
                        rect.OffsetRect(-(rect.left + cxBorder2), 0);
                    } else if ((rect.left >= (sizeMax.cx - cxBorder2)) && (nPos > 0) && (m_arrBars[nPos - 1] != NULL)) {
                        // Nothing of it would show: it starts a new row.
                        m_arrBars.InsertAt(nPos, (void*)NULL);
                        pBar = NULL;
                        pVoid = NULL;
                        bWrapped = TRUE;
                    }
                    if (!bWrapped) {
                        if (rect != rectBar) {
                            if (!m_bLayoutQuery && !(pBar->m_dwStyle & CBRS_FLOATING) && pBar->m_pDockContext != NULL)
                                pBar->m_pDockContext->m_rectMRUDockPos = rect;
                            AfxRepositionWindow(&layout, pBar->m_hWnd, &rect);
                        }
                        pt.x = rect.left + sizeBar.cx - cxBorder2;
                        nWidth = max(nWidth, (int)sizeBar.cy);
                    }
                } else {
                    if (rectBar.top > rect.top && !m_bFloating) rect.OffsetRect(0, rectBar.top - rect.top);
                    if (rect.bottom > sizeMax.cy && !m_bFloating) {
                        int y = rect.Height() - cyBorder2;
                        y = max((int)(sizeMax.cy - y), (int)pt.y);
                        rect.OffsetRect(0, y - rect.top);
                    }
                    if (bWrapped) {
                        bWrapped = FALSE;
                        rect.OffsetRect(0, -(rect.top + cyBorder2));
                    } else if ((rect.top >= (sizeMax.cy - cyBorder2)) && (nPos > 0) && (m_arrBars[nPos - 1] != NULL)) {
                        m_arrBars.InsertAt(nPos, (void*)NULL);
                        pBar = NULL;
                        pVoid = NULL;
                        bWrapped = TRUE;
                    }
                    if (!bWrapped) {
                        if (rect != rectBar) {
                            if (!m_bLayoutQuery && !(pBar->m_dwStyle & CBRS_FLOATING) && pBar->m_pDockContext != NULL)
                                pBar->m_pDockContext->m_rectMRUDockPos = rect;
                            AfxRepositionWindow(&layout, pBar->m_hWnd, &rect);
                        }
                        pt.y = rect.top + sizeBar.cy - cyBorder2;
                        nWidth = max(nWidth, (int)sizeBar.cx);
                    }
                }
            }
            // A hidden bar still gets its delayed show or hide settled.
            if (!bWrapped && pBar != NULL) pBar->RecalcDelayShow(&layout);
        }
        if (pBar == NULL && pVoid == NULL && nWidth != 0) {
            // End of a row.
            if (bHorz) {
                pt.y += nWidth - cyBorder2;
                sizeFixed.cx = max(sizeFixed.cx, (LONG)pt.x);
                sizeFixed.cy = max(sizeFixed.cy, (LONG)pt.y);
                pt.x = -cxBorder2;
            } else {
                pt.x += nWidth - cxBorder2;
                sizeFixed.cx = max(sizeFixed.cx, (LONG)pt.x);
                sizeFixed.cy = max(sizeFixed.cy, (LONG)pt.y);
                pt.y = -cyBorder2;
            }
            nWidth = 0;
        }
    }

    if (!m_bLayoutQuery && layout.hDWP != NULL) ::EndDeferWindowPos(layout.hDWP);

    // The dock bar's own borders.
    CRect rect;
    rect.SetRectEmpty();
    CalcInsideRect(rect, bHorz);
    if ((!bStretch || !bHorz) && sizeFixed.cx != 0) sizeFixed.cx += -rect.right + rect.left;
    if ((!bStretch || bHorz) && sizeFixed.cy != 0) sizeFixed.cy += -rect.bottom + rect.top;
    return sizeFixed;
}

LRESULT CDockBar::OnSizeParent(WPARAM wParam, LPARAM lParam) {
    AFX_SIZEPARENTPARAMS* lpLayout = (AFX_SIZEPARENTPARAMS*)lParam;
    // The row layout needs to know whether it is measuring or placing, and within what.
    BOOL bLayoutQuery = m_bLayoutQuery;
    CRect rectLayout = m_rectLayout;
    m_bLayoutQuery = (lpLayout->hDWP == NULL);
    m_rectLayout = lpLayout->rect;
    LRESULT lResult = CControlBar::OnSizeParent(wParam, lParam);
    m_bLayoutQuery = bLayoutQuery;
    m_rectLayout = rectLayout;
    return lResult;
}

void CDockBar::OnNcCalcSize(BOOL, NCCALCSIZE_PARAMS* lpncsp) {
    CRect rect;
    rect.SetRectEmpty();
    BOOL bHorz = (m_dwStyle & CBRS_ORIENT_HORZ) != 0;
    CalcInsideRect(rect, bHorz);
    lpncsp->rgrc[0].left += rect.left;
    lpncsp->rgrc[0].top += rect.top;
    lpncsp->rgrc[0].right += rect.right;
    lpncsp->rgrc[0].bottom += rect.bottom;
}

void CDockBar::OnNcPaint() {
    CWindowDC dc(this);
    CRect rectClient, rectWindow;
    GetClientRect(rectClient);
    ClientToScreen(rectClient);
    GetWindowRect(rectWindow);
    rectClient.OffsetRect(-rectWindow.left, -rectWindow.top);
    rectWindow.OffsetRect(-rectWindow.left, -rectWindow.top);
    dc.ExcludeClipRect(rectClient);
    dc.FillSolidRect(rectWindow, ::GetSysColor(COLOR_BTNFACE));
    DrawBorders(&dc, rectWindow);
}

BOOL CDockBar::OnEraseBkgnd(CDC* pDC) {
    CRect rect;
    GetClientRect(rect);
    pDC->FillSolidRect(rect, ::GetSysColor(COLOR_BTNFACE));
    return TRUE;
}

void CDockBar::DoPaint(CDC*) {}  // the borders are non-client

void CDockBar::OnUpdateCmdUI(CFrameWnd*, BOOL) {}  // its bars update themselves

// ---- CDockContext ------------------------------------------------------------------

CDockContext::CDockContext(CControlBar* pBar)
    : m_pBar(pBar), m_pDockSite(pBar->m_pDockSite), m_dwDockStyle(pBar->m_dwDockStyle),
      m_dwStyle(pBar->m_dwStyle), m_dwMRUFloatStyle(0), m_ptMRUFloatPos(-1, -1), m_uMRUDockID(0),
      m_bDragging(FALSE) {
    m_rectMRUDockPos.SetRectEmpty();
}

CDockContext::~CDockContext() {}

// Dragging and resizing loops belong to the bars that implement them.
void CDockContext::StartDrag(CPoint) {}
void CDockContext::StartResize(int, CPoint) {}

void CDockContext::ToggleDocking() {
    // The bar's own dock site is current; the one remembered here may be gone.
    CFrameWnd* pSite = m_pBar->m_pDockSite != NULL ? m_pBar->m_pDockSite : m_pDockSite;
    if (pSite == NULL) return;
    if (m_pBar->IsFloating()) {
        // Docks again only where it may; to the side it last left, else its default.
        if (m_pBar->m_dwDockStyle & CBRS_ALIGN_ANY) {
            CDockBar* pDockBar = NULL;
            if (m_uMRUDockID != 0) pDockBar = (CDockBar*)pSite->GetControlBar(m_uMRUDockID);
            if (pDockBar != NULL)
                pSite->ReDockControlBar(m_pBar, pDockBar, NULL);
            else {
                DWORD dwStyle = m_pBar->m_dwStyle;
                m_pBar->m_dwStyle = (dwStyle & ~CBRS_ALIGN_ANY) | (m_pBar->m_dwDockStyle & CBRS_ALIGN_TOP ? CBRS_ALIGN_TOP
                                      : m_pBar->m_dwDockStyle & CBRS_ALIGN_BOTTOM ? CBRS_ALIGN_BOTTOM
                                      : m_pBar->m_dwDockStyle & CBRS_ALIGN_LEFT ? CBRS_ALIGN_LEFT
                                                                                : CBRS_ALIGN_RIGHT);
                pSite->DockControlBar(m_pBar);
            }
            pSite->RecalcLayout();
        }
    } else {
        if (m_pBar->m_pDockBar != NULL) m_uMRUDockID = (UINT)(WORD)m_pBar->m_pDockBar->GetDlgCtrlID();
        CPoint ptFloat = m_ptMRUFloatPos;
        if (ptFloat.x < 0 || ptFloat.y < 0) {
            ptFloat = m_rectMRUDockPos.TopLeft();
            if (m_pBar->GetParent() != NULL) m_pBar->GetParent()->ClientToScreen(&ptFloat);
        }
        DWORD dwStyle = m_dwMRUFloatStyle != 0 ? m_dwMRUFloatStyle : (m_pBar->m_dwStyle & CBRS_ALIGN_ANY);
        pSite->FloatControlBar(m_pBar, ptFloat, dwStyle);
    }
}
