// CControlBar: WM_SIZEPARENT layout, delayed show/hide, idle command-UI updates and the
// classic border and gripper drawing.
#include "framework/ctrlbar.h"
#include "framework/dockbar.h"
#include "framework/frame.h"
#include "framework/dc.h"
#include <stdlib.h>
#include <algorithm>
using std::max;
using std::min;

int AFXAPI AfxGetCxBorder2() { return ::GetSystemMetrics(SM_CXBORDER) * 2; }
int AFXAPI AfxGetCyBorder2() { return ::GetSystemMetrics(SM_CYBORDER) * 2; }

IMPLEMENT_DYNAMIC(CControlBar, CWnd)

BEGIN_MESSAGE_MAP(CControlBar, CWnd)
    ON_WM_CREATE()
    ON_WM_DESTROY()
    ON_WM_PAINT()
    ON_MESSAGE(WM_SIZEPARENT, &CControlBar::OnSizeParent)
    ON_MESSAGE(WM_IDLEUPDATECMDUI, &CControlBar::OnIdleUpdateCmdUI)
    ON_MESSAGE(WM_HELPHITTEST, &CControlBar::OnHelpHitTest)
END_MESSAGE_MAP()

CControlBar::CControlBar()
    : m_cxLeftBorder(6), m_cxRightBorder(6), m_cyTopBorder(1), m_cyBottomBorder(1), m_cxDefaultGap(2),
      m_nMRUWidth(32767), m_bAutoDelete(FALSE), m_nStateFlags(0), m_dwStyle(0), m_dwDockStyle(0),
      m_pDockSite(NULL), m_pDockBar(NULL), m_pDockContext(NULL), m_pData(NULL), m_nCount(0) {}

CControlBar::~CControlBar() {
    // A bar that dies before its window: take the window down first so its handlers
    // still see a whole object.
    if (m_hWnd != NULL) CWnd::DestroyWindow();
    if (m_pDockSite != NULL) m_pDockSite->RemoveControlBar(this);
    DetachFromDockBar();
    CDockContext* pContext = m_pDockContext;
    m_pDockContext = NULL;
    delete pContext;
    free(m_pData);
    m_pData = NULL;
    m_nCount = 0;
}

BOOL CControlBar::AllocElements(int nElements, int cbElement) {
    if (nElements < 0 || cbElement <= 0) return FALSE;
    free(m_pData);
    m_pData = NULL;
    m_nCount = 0;
    if (nElements > 0) {
        m_pData = calloc((size_t)nElements, (size_t)cbElement);
        if (m_pData == NULL) return FALSE;
    }
    m_nCount = nElements;
    return TRUE;
}

void CControlBar::SetBorders(int cxLeft, int cyTop, int cxRight, int cyBottom) {
    m_cxLeftBorder = cxLeft;
    m_cyTopBorder = cyTop;
    m_cxRightBorder = cxRight;
    m_cyBottomBorder = cyBottom;
}

void CControlBar::SetBorders(LPCRECT lpRect) {
    SetBorders(lpRect->left, lpRect->top, lpRect->right, lpRect->bottom);
}

CRect CControlBar::GetBorders() const {
    return CRect(m_cxLeftBorder, m_cyTopBorder, m_cxRightBorder, m_cyBottomBorder);
}

void CControlBar::SetBarStyle(DWORD dwStyle) {
    if (m_hWnd != NULL) EnableToolTips((dwStyle & CBRS_TOOLTIPS) != 0);
    if (m_dwStyle != dwStyle) {
        DWORD dwOldStyle = m_dwStyle;
        m_dwStyle = dwStyle;
        OnBarStyleChange(dwOldStyle, dwStyle);
    }
}

void CControlBar::OnBarStyleChange(DWORD, DWORD) {}

void CControlBar::EnableDocking(DWORD dwDockStyle) {
    m_dwDockStyle = dwDockStyle;
    if (m_pDockContext == NULL) m_pDockContext = new CDockContext(this);
    // The bar's commands keep going to the window it was created in, wherever it docks.
    if (m_hWndOwner == NULL && m_hWnd != NULL) m_hWndOwner = ::GetParent(m_hWnd);
}

BOOL CControlBar::IsFloating() const {
    if (IsDockBar()) return ((const CDockBar*)this)->m_bFloating;
    return m_pDockBar != NULL && m_pDockBar->m_bFloating;
}

CFrameWnd* CControlBar::GetDockingFrame() const {
    CFrameWnd* pFrame = GetParentFrame();
    if (pFrame == NULL) pFrame = m_pDockSite;
    return pFrame;
}

BOOL CControlBar::IsVisible() const {
    if (m_nStateFlags & delayHide) return FALSE;
    if ((m_nStateFlags & delayShow) || (m_hWnd != NULL && (GetStyle() & WS_VISIBLE) != 0)) return TRUE;
    return FALSE;
}

void CControlBar::DelayShow(BOOL bShow) {
    m_nStateFlags &= ~(delayHide | delayShow);
    BOOL bVisible = m_hWnd != NULL && (GetStyle() & WS_VISIBLE) != 0;
    if (bShow && !bVisible)
        m_nStateFlags |= delayShow;
    else if (!bShow && bVisible)
        m_nStateFlags |= delayHide;
}

DWORD CControlBar::RecalcDelayShow(AFX_SIZEPARENTPARAMS* lpLayout) {
    DWORD dwStyle = (m_dwStyle & (CBRS_ALIGN_ANY | CBRS_BORDER_ANY)) | (GetStyle() & WS_VISIBLE);
    if (m_nStateFlags & (delayHide | delayShow)) {
        UINT swpFlags = 0;
        if (m_nStateFlags & delayHide) {
            if (dwStyle & WS_VISIBLE) swpFlags = SWP_HIDEWINDOW;
        } else {
            if ((dwStyle & WS_VISIBLE) == 0) swpFlags = SWP_SHOWWINDOW;
        }
        if (swpFlags != 0) {
            // Lay the bar out as it is about to be; a query pass keeps the request.
            dwStyle ^= WS_VISIBLE;
            if (lpLayout->hDWP != NULL) {
                m_nStateFlags &= ~(delayShow | delayHide);
                lpLayout->hDWP = ::DeferWindowPos(lpLayout->hDWP, m_hWnd, NULL, 0, 0, 0, 0,
                                                  swpFlags | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER |
                                                      SWP_NOACTIVATE);
            }
        } else {
            m_nStateFlags &= ~(delayShow | delayHide);  // already as asked
        }
    }
    return dwStyle;
}

CSize CControlBar::CalcFixedLayout(BOOL bStretch, BOOL bHorz) {
    CSize size;
    size.cx = (bStretch && bHorz ? 32767 : 0);
    size.cy = (bStretch && !bHorz ? 32767 : 0);
    return size;
}

CSize CControlBar::CalcDynamicLayout(int, DWORD nMode) {
    return CalcFixedLayout((nMode & LM_STRETCH) != 0, (nMode & LM_HORZ) != 0);
}

void CControlBar::CalcInsideRect(CRect& rect, BOOL bHorz) const {
    DWORD dwStyle = m_dwStyle;
    if (dwStyle & CBRS_BORDER_LEFT) rect.left += AfxGetCxBorder2();
    if (dwStyle & CBRS_BORDER_TOP) rect.top += AfxGetCyBorder2();
    if (dwStyle & CBRS_BORDER_RIGHT) rect.right -= AfxGetCxBorder2();
    if (dwStyle & CBRS_BORDER_BOTTOM) rect.bottom -= AfxGetCyBorder2();
    if (bHorz) {
        rect.left += m_cxLeftBorder;
        rect.top += m_cyTopBorder;
        rect.right -= m_cxRightBorder;
        rect.bottom -= m_cyBottomBorder;
        if ((m_dwStyle & (CBRS_GRIPPER | CBRS_FLOATING)) == CBRS_GRIPPER)
            rect.left += AFX_CX_BORDER_GRIPPER + AFX_CX_GRIPPER + AFX_CX_BORDER_GRIPPER;
    } else {
        // Vertical bars turn the horizontal margins by a quarter.
        rect.left += m_cyTopBorder;
        rect.top += m_cxLeftBorder;
        rect.right -= m_cyBottomBorder;
        rect.bottom -= m_cxRightBorder;
        if ((m_dwStyle & (CBRS_GRIPPER | CBRS_FLOATING)) == CBRS_GRIPPER)
            rect.top += AFX_CY_BORDER_GRIPPER + AFX_CY_GRIPPER + AFX_CY_BORDER_GRIPPER;
    }
}

void CControlBar::DrawBorders(CDC* pDC, CRect& rect) {
    DWORD dwStyle = m_dwStyle;
    if (!(dwStyle & CBRS_BORDER_ANY)) return;
    COLORREF clrHilite = ::GetSysColor(COLOR_BTNHIGHLIGHT);
    COLORREF clrShadow = ::GetSysColor(COLOR_BTNSHADOW);
    int cx = AfxGetCxBorder2() / 2, cy = AfxGetCyBorder2() / 2;
    CRect rectBar = rect;
    // A 3D border: a shadow line outside, a highlight line inside, per side.
    if (dwStyle & CBRS_BORDER_TOP) {
        pDC->FillSolidRect(rectBar.left, rectBar.top, rectBar.Width(), cy, clrShadow);
        pDC->FillSolidRect(rectBar.left, rectBar.top + cy, rectBar.Width(), cy, clrHilite);
        rect.top += 2 * cy;
    }
    if (dwStyle & CBRS_BORDER_BOTTOM) {
        pDC->FillSolidRect(rectBar.left, rectBar.bottom - 2 * cy, rectBar.Width(), cy, clrShadow);
        pDC->FillSolidRect(rectBar.left, rectBar.bottom - cy, rectBar.Width(), cy, clrHilite);
        rect.bottom -= 2 * cy;
    }
    if (dwStyle & CBRS_BORDER_LEFT) {
        pDC->FillSolidRect(rectBar.left, rectBar.top, cx, rectBar.Height(), clrShadow);
        pDC->FillSolidRect(rectBar.left + cx, rectBar.top, cx, rectBar.Height(), clrHilite);
        rect.left += 2 * cx;
    }
    if (dwStyle & CBRS_BORDER_RIGHT) {
        pDC->FillSolidRect(rectBar.right - 2 * cx, rectBar.top, cx, rectBar.Height(), clrShadow);
        pDC->FillSolidRect(rectBar.right - cx, rectBar.top, cx, rectBar.Height(), clrHilite);
        rect.right -= 2 * cx;
    }
}

void CControlBar::DrawGripper(CDC* pDC, const CRect& rect) {
    if ((m_dwStyle & (CBRS_GRIPPER | CBRS_FLOATING)) != CBRS_GRIPPER) return;
    COLORREF clrHilite = ::GetSysColor(COLOR_BTNHIGHLIGHT);
    COLORREF clrShadow = ::GetSysColor(COLOR_BTNSHADOW);
    if (m_dwStyle & CBRS_ORIENT_HORZ) {
        // Along the left edge.
        CRect r(rect.left + AFX_CX_BORDER_GRIPPER, rect.top + m_cyTopBorder,
                rect.left + AFX_CX_BORDER_GRIPPER + AFX_CX_GRIPPER, rect.bottom - m_cyBottomBorder);
        pDC->Draw3dRect(&r, clrHilite, clrShadow);
    } else {
        CRect r(rect.left + m_cyTopBorder, rect.top + AFX_CY_BORDER_GRIPPER, rect.right - m_cyBottomBorder,
                rect.top + AFX_CY_BORDER_GRIPPER + AFX_CY_GRIPPER);
        pDC->Draw3dRect(&r, clrHilite, clrShadow);
    }
}

void CControlBar::DoPaint(CDC* pDC) {
    CRect rect;
    GetClientRect(rect);
    DrawBorders(pDC, rect);
    DrawGripper(pDC, rect);
}

void CControlBar::OnPaint() {
    CPaintDC dc(this);
    DoPaint(&dc);
}

BOOL CControlBar::PreCreateWindow(CREATESTRUCT& cs) {
    if (!CWnd::PreCreateWindow(cs)) return FALSE;
    cs.style |= WS_CLIPSIBLINGS;  // siblings overlap by their borders
    // The flat look: a bar keeps only the border that separates it from the client.
    if ((m_dwStyle & CBRS_BORDER_3D) == 0) {
        DWORD dwNewStyle = 0;
        switch (m_dwStyle & (CBRS_BORDER_ANY | CBRS_ALIGN_ANY)) {
        case CBRS_LEFT: dwNewStyle = CBRS_BORDER_TOP | CBRS_BORDER_BOTTOM; break;
        case CBRS_TOP: dwNewStyle = CBRS_BORDER_TOP; break;
        case CBRS_RIGHT: dwNewStyle = CBRS_BORDER_TOP | CBRS_BORDER_BOTTOM; break;
        case CBRS_BOTTOM: dwNewStyle = CBRS_BORDER_BOTTOM; break;
        }
        if (dwNewStyle != 0) {
            m_dwStyle &= ~CBRS_BORDER_ANY;
            m_dwStyle |= (dwNewStyle | CBRS_BORDER_3D);
        }
    }
    return TRUE;
}

int CControlBar::OnCreate(LPCREATESTRUCT lpcs) {
    if (CWnd::OnCreate(lpcs) == -1) return -1;
    if (m_dwStyle & CBRS_TOOLTIPS) EnableToolTips();
    CWnd* pParent = GetParent();
    if (pParent != NULL && pParent->IsFrameWnd()) {
        m_pDockSite = (CFrameWnd*)pParent;
        m_pDockSite->AddControlBar(this);
    }
    return 0;
}

void CControlBar::OnDestroy() {
    if (m_pDockSite != NULL) {
        m_pDockSite->RemoveControlBar(this);
        m_pDockSite = NULL;
    }
    DetachFromDockBar();
    CWnd::OnDestroy();
}

void CControlBar::DetachFromDockBar() {
    CDockBar* pDockBar = m_pDockBar;
    m_pDockBar = NULL;
    if (pDockBar == NULL || IsDockBar()) return;
    int nPos = pDockBar->FindBar(this);
    if (nPos <= 0) return;
    CPtrArray& arr = pDockBar->m_arrBars;
    arr.RemoveAt(nPos);
    if (nPos < arr.GetSize() && arr[nPos - 1] == NULL && arr[nPos] == NULL) arr.RemoveAt(nPos);
}

BOOL CControlBar::DestroyWindow() {
    // A floating bar takes its floating frame with it.
    if (m_hWnd != NULL && IsFloating()) {
        CFrameWnd* pFrame = GetDockingFrame();
        if (pFrame != NULL && pFrame != m_pDockSite) return pFrame->DestroyWindow();
    }
    return CWnd::DestroyWindow();
}

void CControlBar::PostNcDestroy() {
    if (m_bAutoDelete) delete this;
}

LRESULT CControlBar::WindowProc(UINT nMsg, WPARAM wParam, LPARAM lParam) {
    switch (nMsg) {
    case WM_NOTIFY:
    case WM_COMMAND:
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
    case WM_DELETEITEM:
    case WM_COMPAREITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM: {
        // What the bar's own controls send goes to the bar's owner when the bar does
        // not handle it: commands of a bar belong to its frame.
        LRESULT lResult = 0;
        if (OnWndMsg(nMsg, wParam, lParam, &lResult)) return lResult;
        CWnd* pOwner = GetOwner();
        if (pOwner != NULL && pOwner->m_hWnd != NULL && pOwner->m_hWnd != m_hWnd)
            return pOwner->SendMessage(nMsg, wParam, lParam);
        return 0;
    }
    default:
        break;
    }
    return CWnd::WindowProc(nMsg, wParam, lParam);
}

LRESULT CControlBar::OnSizeParent(WPARAM, LPARAM lParam) {
    AFX_SIZEPARENTPARAMS* lpLayout = (AFX_SIZEPARENTPARAMS*)lParam;
    DWORD dwStyle = RecalcDelayShow(lpLayout);
    if ((dwStyle & WS_VISIBLE) && (dwStyle & CBRS_ALIGN_ANY) != 0) {
        CRect rect(lpLayout->rect);
        CSize sizeAvail = rect.Size();

        DWORD dwMode = lpLayout->bStretch ? LM_STRETCH : 0;
        if ((m_dwStyle & CBRS_SIZE_DYNAMIC) && (m_dwStyle & CBRS_FLOATING))
            dwMode |= LM_HORZ | LM_MRUWIDTH;
        else if (dwStyle & CBRS_ORIENT_HORZ)
            dwMode |= LM_HORZ | LM_HORZDOCK;
        else
            dwMode |= LM_VERTDOCK;

        CSize size = CalcDynamicLayout(-1, dwMode);
        size.cx = min(size.cx, sizeAvail.cx);
        size.cy = min(size.cy, sizeAvail.cy);

        if (dwStyle & CBRS_ORIENT_HORZ) {
            lpLayout->sizeTotal.cy += size.cy;
            lpLayout->sizeTotal.cx = max(lpLayout->sizeTotal.cx, size.cx);
            if (dwStyle & CBRS_ALIGN_TOP)
                lpLayout->rect.top += size.cy;
            else if (dwStyle & CBRS_ALIGN_BOTTOM) {
                rect.top = rect.bottom - size.cy;
                lpLayout->rect.bottom -= size.cy;
            }
        } else if (dwStyle & CBRS_ORIENT_VERT) {
            lpLayout->sizeTotal.cx += size.cx;
            lpLayout->sizeTotal.cy = max(lpLayout->sizeTotal.cy, size.cy);
            if (dwStyle & CBRS_ALIGN_LEFT)
                lpLayout->rect.left += size.cx;
            else if (dwStyle & CBRS_ALIGN_RIGHT) {
                rect.left = rect.right - size.cx;
                lpLayout->rect.right -= size.cx;
            }
        }
        rect.right = rect.left + size.cx;
        rect.bottom = rect.top + size.cy;
        // A query only measures.
        if (lpLayout->hDWP != NULL) AfxRepositionWindow(lpLayout, m_hWnd, &rect);
    }
    return 0;
}

LRESULT CControlBar::OnIdleUpdateCmdUI(WPARAM wParam, LPARAM) {
    // A delayed show or hide that no layout pass has applied yet is applied now.
    BOOL bVis = (GetStyle() & WS_VISIBLE) != 0;
    UINT swpFlags = 0;
    if ((m_nStateFlags & delayHide) && bVis)
        swpFlags = SWP_HIDEWINDOW;
    else if ((m_nStateFlags & delayShow) && !bVis)
        swpFlags = SWP_SHOWWINDOW;
    m_nStateFlags &= ~(delayShow | delayHide);
    if (swpFlags != 0)
        SetWindowPos(NULL, 0, 0, 0, 0, swpFlags | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);

    // Only a visible bar in a visible dock bar updates its commands.
    if ((GetStyle() & WS_VISIBLE) &&
        (m_pDockBar == NULL || (((CWnd*)m_pDockBar)->GetStyle() & WS_VISIBLE))) {
        CWnd* pOwner = GetOwner();
        CFrameWnd* pTarget = (pOwner != NULL && pOwner->IsFrameWnd()) ? (CFrameWnd*)pOwner : NULL;
        if (pTarget == NULL) pTarget = GetParentFrame();
        if (pTarget != NULL) OnUpdateCmdUI(pTarget, (BOOL)wParam);
    }
    return 0;
}

LRESULT CControlBar::OnHelpHitTest(WPARAM, LPARAM lParam) {
    CPoint pt((short)LOWORD(lParam), (short)HIWORD(lParam));
    INT_PTR nID = OnToolHitTest(pt, NULL);
    if (nID != -1) return (LRESULT)(HID_BASE_COMMAND + nID);
    nID = GetDlgCtrlID();
    return nID != 0 ? (LRESULT)(HID_BASE_CONTROL + nID) : 0;
}
