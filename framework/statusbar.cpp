// CStatusBar on the system status-bar control.
#include "framework/statusbar.h"
#include "framework/frame.h"
#include "framework/dc.h"
#include <new>

#define AFX_CX_PANE_BORDER 6  // room around a pane's text

IMPLEMENT_DYNAMIC(CStatusBar, CControlBar)

BEGIN_MESSAGE_MAP(CStatusBar, CControlBar)
    ON_WM_SIZE()
    ON_WM_PAINT()
    ON_WM_NCCALCSIZE()
    ON_WM_NCPAINT()
    ON_WM_NCHITTEST()
    ON_MESSAGE(WM_SETTEXT, &CStatusBar::OnSetText)
    ON_MESSAGE(WM_GETTEXT, &CStatusBar::OnGetText)
    ON_MESSAGE(WM_GETTEXTLENGTH, &CStatusBar::OnGetTextLength)
    ON_MESSAGE(SB_SETMINHEIGHT, &CStatusBar::OnSetMinHeight)
END_MESSAGE_MAP()

CStatusBar::CStatusBar() : m_nMinHeight(0) {
    m_cyTopBorder = 2;
    m_cxLeftBorder = 0;
    m_cxRightBorder = 0;
    m_cyBottomBorder = 0;
}

CStatusBar::~CStatusBar() {
    // The texts are objects inside raw storage: destroy them before the base frees it.
    AllocElements(0, 0);
}

BOOL CStatusBar::AllocElements(int nElements, int cbElement) {
    AFX_STATUSPANE* pSBP = (AFX_STATUSPANE*)m_pData;
    for (int i = 0; i < m_nCount; i++) pSBP[i].strText.~CString();
    if (nElements == 0) {
        free(m_pData);
        m_pData = NULL;
        m_nCount = 0;
        return TRUE;
    }
    if (!CControlBar::AllocElements(nElements, cbElement)) return FALSE;
    pSBP = (AFX_STATUSPANE*)m_pData;
    for (int i = 0; i < m_nCount; i++) new (&pSBP[i].strText) CString;
    return TRUE;
}

AFX_STATUSPANE* CStatusBar::_GetPanePtr(int nIndex) const {
    if (nIndex < 0 || nIndex >= m_nCount || m_pData == NULL) return NULL;
    return ((AFX_STATUSPANE*)m_pData) + nIndex;
}

LRESULT CStatusBar::ControlProc(UINT nMsg, WPARAM wParam, LPARAM lParam) const {
    if (m_hWnd == NULL) return 0;
    return const_cast<CStatusBar*>(this)->DefWindowProc(nMsg, wParam, lParam);
}

BOOL CStatusBar::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID) {
    return CreateEx(pParentWnd, 0, dwStyle, nID);
}

BOOL CStatusBar::CreateEx(CWnd* pParentWnd, DWORD dwCtrlStyle, DWORD dwStyle, UINT nID) {
    if (pParentWnd == NULL) return FALSE;
    m_dwStyle = (dwStyle & CBRS_ALL);
    // The bar positions itself through WM_SIZEPARENT, not the control's own alignment.
    dwStyle &= ~CBRS_ALL;
    dwStyle |= CCS_NOPARENTALIGN | CCS_NOMOVEY | CCS_NODIVIDER | CCS_NORESIZE;
    if (pParentWnd->GetStyle() & WS_THICKFRAME) dwStyle |= SBARS_SIZEGRIP;
    dwStyle |= dwCtrlStyle;
    CRect rect;
    rect.SetRectEmpty();
    return CWnd::Create(STATUSCLASSNAMEA, NULL, dwStyle, rect, pParentWnd, nID);
}

BOOL CStatusBar::PreCreateWindow(CREATESTRUCT& cs) {
    if (!CControlBar::PreCreateWindow(cs)) return FALSE;
    // The size grip only makes sense on a parent that can be resized.
    CWnd* pParent = CWnd::FromHandle(cs.hwndParent);
    if (pParent != NULL && (pParent->GetStyle() & (WS_THICKFRAME | WS_MAXIMIZE)) != WS_THICKFRAME)
        cs.style &= ~SBARS_SIZEGRIP;
    return TRUE;
}

void CStatusBar::SetBorders(int cxLeft, int cyTop, int cxRight, int cyBottom) {
    CControlBar::SetBorders(cxLeft, cyTop, cxRight, cyBottom);
}

BOOL CStatusBar::SetIndicators(const UINT* lpIDArray, int nIDCount) {
    if (nIDCount < 0) return FALSE;
    if (!AllocElements(nIDCount, sizeof(AFX_STATUSPANE))) return FALSE;
    BOOL bResult = TRUE;
    if (lpIDArray != NULL && nIDCount > 0) {
        HFONT hFont = m_hWnd != NULL ? (HFONT)::SendMessageA(m_hWnd, WM_GETFONT, 0, 0) : NULL;
        HDC hdc = ::GetDC(NULL);
        HGDIOBJ hOldFont = hFont != NULL ? ::SelectObject(hdc, hFont) : NULL;
        for (int i = 0; i < nIDCount; i++) {
            AFX_STATUSPANE* pSBP = _GetPanePtr(i);
            pSBP->nID = lpIDArray[i];
            pSBP->nFlags |= SBPF_UPDATE;
            if (pSBP->nID != 0) {
                // An indicator shows its string and is as wide as it.
                if (!pSBP->strText.LoadString(pSBP->nID)) {
                    bResult = FALSE;
                    break;
                }
                SIZE size = {0, 0};
                ::GetTextExtentPoint32A(hdc, pSBP->strText, pSBP->strText.GetLength(), &size);
                pSBP->cxText = size.cx;
                if (!SetPaneText(i, pSBP->strText, FALSE)) {
                    bResult = FALSE;
                    break;
                }
            } else {
                // A text pane: a quarter of the screen; the first one stretches.
                pSBP->cxText = ::GetSystemMetrics(SM_CXSCREEN) / 4;
                if (i == 0) pSBP->nStyle |= (SBPS_STRETCH | SBPS_NOBORDERS);
            }
        }
        if (hOldFont != NULL) ::SelectObject(hdc, hOldFont);
        ::ReleaseDC(NULL, hdc);
    }
    UpdateAllPanes(TRUE, TRUE);
    return bResult;
}

void CStatusBar::UpdateAllPanes(BOOL bUpdateRects, BOOL bUpdateText) {
    if (m_hWnd == NULL) return;
    if (bUpdateRects) {
        CRect rect;
        GetWindowRect(rect);
        rect.OffsetRect(-rect.left, -rect.top);
        CalcInsideRect(rect, TRUE);
        int rgBorders[3] = {0, 0, 0};
        ControlProc(SB_GETBORDERS, 0, (LPARAM)rgBorders);

        // What the fixed panes leave over goes to the stretching ones, shared evenly.
        int cxExtra = rect.Width() + rgBorders[2];
        int nStretchyCount = 0;
        for (int i = 0; i < m_nCount; i++) {
            AFX_STATUSPANE* pSBP = _GetPanePtr(i);
            if (pSBP->nStyle & SBPS_STRETCH) ++nStretchyCount;
            cxExtra -= (pSBP->cxText + AFX_CX_PANE_BORDER + rgBorders[2]);
        }
        int* rgRights = m_nCount > 0 ? new int[m_nCount] : NULL;
        int right = rgBorders[0];
        for (int i = 0; i < m_nCount; i++) {
            AFX_STATUSPANE* pSBP = _GetPanePtr(i);
            right += pSBP->cxText + AFX_CX_PANE_BORDER;
            if ((pSBP->nStyle & SBPS_STRETCH) && cxExtra > 0 && nStretchyCount > 0) {
                int cxAddExtra = cxExtra / nStretchyCount;
                right += cxAddExtra;
                --nStretchyCount;
                cxExtra -= cxAddExtra;
            }
            rgRights[i] = right;
            right += rgBorders[2];
        }
        ControlProc(SB_SETPARTS, (WPARAM)m_nCount, (LPARAM)rgRights);
        delete[] rgRights;
    }
    if (bUpdateText) {
        for (int i = 0; i < m_nCount; i++) {
            AFX_STATUSPANE* pSBP = _GetPanePtr(i);
            if (pSBP->nFlags & SBPF_UPDATE) SetPaneText(i, pSBP->strText);
        }
    }
}

int CStatusBar::CommandToIndex(UINT nIDFind) const {
    for (int i = 0; i < m_nCount; i++)
        if (_GetPanePtr(i)->nID == nIDFind) return i;
    return -1;
}

UINT CStatusBar::GetItemID(int nIndex) const {
    AFX_STATUSPANE* pSBP = _GetPanePtr(nIndex);
    return pSBP != NULL ? pSBP->nID : 0;
}

void CStatusBar::GetItemRect(int nIndex, LPRECT lpRect) const {
    if (lpRect == NULL) return;
    ::SetRectEmpty(lpRect);
    if (_GetPanePtr(nIndex) == NULL) return;
    ControlProc(SB_GETRECT, (WPARAM)nIndex, (LPARAM)lpRect);
}

void CStatusBar::GetPaneText(int nIndex, CString& rString) const {
    AFX_STATUSPANE* pSBP = _GetPanePtr(nIndex);
    if (pSBP != NULL)
        rString = pSBP->strText;
    else
        rString.Empty();
}

CString CStatusBar::GetPaneText(int nIndex) const {
    CString s;
    GetPaneText(nIndex, s);
    return s;
}

BOOL CStatusBar::SetPaneText(int nIndex, LPCTSTR lpszNewText, BOOL bUpdate) {
    AFX_STATUSPANE* pSBP = _GetPanePtr(nIndex);
    if (pSBP == NULL) return FALSE;
    // Unchanged and already shown: nothing to do (no flicker on every idle pass).
    if (!(pSBP->nFlags & SBPF_UPDATE) &&
        ((lpszNewText == NULL && pSBP->strText.IsEmpty()) ||
         (lpszNewText != NULL && pSBP->strText.Compare(lpszNewText) == 0)))
        return TRUE;
    if (lpszNewText != NULL) {
        if (lpszNewText != (LPCTSTR)pSBP->strText) pSBP->strText = lpszNewText;
    } else
        pSBP->strText.Empty();
    if (!bUpdate || m_hWnd == NULL) {
        pSBP->nFlags |= SBPF_UPDATE;  // sent with the next UpdateAllPanes
        return TRUE;
    }
    pSBP->nFlags &= ~SBPF_UPDATE;
    // A disabled pane shows no text; the SB_ drawing bits ride in the high byte.
    UINT nSBStyle = 0;
    if (pSBP->nStyle & SBPS_NOBORDERS) nSBStyle |= SBT_NOBORDERS;
    if (pSBP->nStyle & SBPS_POPOUT) nSBStyle |= SBT_POPOUT;
    if (pSBP->nStyle & SBPS_OWNERDRAW) nSBStyle |= SBT_OWNERDRAW;
    ControlProc(SB_SETTEXTA, (WPARAM)(nSBStyle | (UINT)nIndex),
                (pSBP->nStyle & SBPS_DISABLED) ? (LPARAM) "" : (LPARAM)(LPCTSTR)pSBP->strText);
    return TRUE;
}

void CStatusBar::GetPaneInfo(int nIndex, UINT& nID, UINT& nStyle, int& cxWidth) const {
    AFX_STATUSPANE* pSBP = _GetPanePtr(nIndex);
    if (pSBP == NULL) {
        nID = 0;
        nStyle = 0;
        cxWidth = 0;
        return;
    }
    nID = pSBP->nID;
    nStyle = pSBP->nStyle;
    cxWidth = pSBP->cxText;
}

void CStatusBar::SetPaneInfo(int nIndex, UINT nID, UINT nStyle, int cxWidth) {
    AFX_STATUSPANE* pSBP = _GetPanePtr(nIndex);
    if (pSBP == NULL) return;
    BOOL bChanged = FALSE;
    pSBP->nID = nID;
    if (pSBP->nStyle != nStyle) {
        if ((pSBP->nStyle ^ nStyle) & SBPS_STRETCH)
            bChanged = TRUE;
        else {
            pSBP->nStyle = nStyle;
            pSBP->nFlags |= SBPF_UPDATE;
            SetPaneText(nIndex, pSBP->strText);
        }
        pSBP->nStyle = nStyle;
    }
    if (cxWidth != pSBP->cxText) {
        pSBP->cxText = cxWidth;
        bChanged = TRUE;
    }
    if (bChanged) UpdateAllPanes(TRUE, FALSE);
}

UINT CStatusBar::GetPaneStyle(int nIndex) const {
    AFX_STATUSPANE* pSBP = _GetPanePtr(nIndex);
    return pSBP != NULL ? pSBP->nStyle : 0;
}

void CStatusBar::SetPaneStyle(int nIndex, UINT nStyle) {
    AFX_STATUSPANE* pSBP = _GetPanePtr(nIndex);
    if (pSBP == NULL || pSBP->nStyle == nStyle) return;
    // A stretch change moves the panes; anything else only redraws the text.
    BOOL bStretchChanged = ((pSBP->nStyle ^ nStyle) & SBPS_STRETCH) != 0;
    pSBP->nStyle = nStyle;
    pSBP->nFlags |= SBPF_UPDATE;
    if (bStretchChanged)
        UpdateAllPanes(TRUE, TRUE);
    else
        SetPaneText(nIndex, pSBP->strText);
}

CSize CStatusBar::CalcFixedLayout(BOOL, BOOL bHorz) {
    TEXTMETRICA tm;
    memset(&tm, 0, sizeof(tm));
    {
        HDC hdc = ::GetDC(NULL);
        HFONT hFont = m_hWnd != NULL ? (HFONT)::SendMessageA(m_hWnd, WM_GETFONT, 0, 0) : NULL;
        HGDIOBJ hOldFont = hFont != NULL ? ::SelectObject(hdc, hFont) : NULL;
        ::GetTextMetricsA(hdc, &tm);
        if (hOldFont != NULL) ::SelectObject(hdc, hOldFont);
        ::ReleaseDC(NULL, hdc);
    }
    CRect rect;
    rect.SetRectEmpty();
    CalcInsideRect(rect, bHorz);
    int rgBorders[3] = {0, 0, 0};
    ControlProc(SB_GETBORDERS, 0, (LPARAM)rgBorders);

    // One line of text with the control's borders, always the whole width.
    CSize size;
    size.cx = 32767;
    size.cy = tm.tmHeight - tm.tmInternalLeading - 1 + rgBorders[1] * 2 + ::GetSystemMetrics(SM_CYBORDER) * 2 -
              rect.Height();
    if (size.cy < m_nMinHeight) size.cy = m_nMinHeight;
    return size;
}

void CStatusBar::OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) {
    CStatusCmdUI state;
    state.m_pOther = this;
    state.m_nIndexMax = (UINT)m_nCount;
    for (state.m_nIndex = 0; state.m_nIndex < state.m_nIndexMax; state.m_nIndex++) {
        state.m_nID = _GetPanePtr((int)state.m_nIndex)->nID;
        // The bar's own handlers first, then the frame's route.
        if (CWnd::OnCmdMsg(state.m_nID, (int)CN_UPDATE_COMMAND_UI, &state, NULL)) continue;
        state.DoUpdate((CCmdTarget*)pTarget, FALSE);
    }
    UpdateDialogControls((CCmdTarget*)pTarget, bDisableIfNoHndler);
}

void CStatusBar::OnSize(UINT nType, int cx, int cy) {
    CControlBar::OnSize(nType, cx, cy);
    UpdateAllPanes(TRUE, FALSE);
}

void CStatusBar::OnPaint() {
    UpdateAllPanes(FALSE, TRUE);
    Default();
}

void CStatusBar::OnNcCalcSize(BOOL, NCCALCSIZE_PARAMS* lpncsp) {
    // The bar's borders are non-client; the control keeps 2 pixels of the top margin
    // inside its own drawing.
    CRect rect;
    rect.SetRectEmpty();
    CControlBar::CalcInsideRect(rect, TRUE);
    lpncsp->rgrc[0].left += rect.left;
    lpncsp->rgrc[0].top += rect.top - 2;
    lpncsp->rgrc[0].right += rect.right;
    lpncsp->rgrc[0].bottom += rect.bottom;
}

void CStatusBar::OnNcPaint() {
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

LRESULT CStatusBar::OnNcHitTest(CPoint) {
    // Only the size grip sizes (the control forwards it to the parent); the rest of the
    // bar is client area, so clicks on its borders reach the bar.
    LRESULT nResult = Default();
    return nResult == HTBOTTOMRIGHT ? HTBOTTOMRIGHT : HTCLIENT;
}

LRESULT CStatusBar::OnSetText(WPARAM, LPARAM lParam) {
    // The window text is the text of the prompt pane (id 0).
    int nIndex = CommandToIndex(0);
    if (nIndex < 0) return FALSE;
    return SetPaneText(nIndex, (LPCTSTR)lParam) ? TRUE : FALSE;
}

LRESULT CStatusBar::OnGetText(WPARAM wParam, LPARAM lParam) {
    int nIndex = CommandToIndex(0);
    if (nIndex < 0 || wParam == 0 || lParam == 0) return 0;
    const CString& str = _GetPanePtr(nIndex)->strText;
    int nLen = str.GetLength();
    if (nLen > (int)wParam - 1) nLen = (int)wParam - 1;
    memcpy((void*)lParam, (LPCTSTR)str, (size_t)nLen);
    ((char*)lParam)[nLen] = 0;
    return nLen;
}

LRESULT CStatusBar::OnGetTextLength(WPARAM, LPARAM) {
    int nIndex = CommandToIndex(0);
    return nIndex < 0 ? 0 : _GetPanePtr(nIndex)->strText.GetLength();
}

LRESULT CStatusBar::OnSetMinHeight(WPARAM wParam, LPARAM lParam) {
    LRESULT lResult = DefWindowProc(SB_SETMINHEIGHT, wParam, lParam);
    m_nMinHeight = (int)wParam;
    return lResult;
}

// ---- CStatusCmdUI --------------------------------------------------------------------

void CStatusCmdUI::Enable(BOOL bOn) {
    m_bEnableChanged = TRUE;
    CStatusBar* pBar = (CStatusBar*)m_pOther;
    if (pBar == NULL) return;
    UINT nStyle = pBar->GetPaneStyle((int)m_nIndex);
    nStyle = bOn ? (nStyle & ~SBPS_DISABLED) : (nStyle | SBPS_DISABLED);
    pBar->SetPaneStyle((int)m_nIndex, nStyle);
}

void CStatusCmdUI::SetCheck(int nCheck) {
    // A checked indicator shows raised.
    CStatusBar* pBar = (CStatusBar*)m_pOther;
    if (pBar == NULL) return;
    UINT nStyle = pBar->GetPaneStyle((int)m_nIndex) & ~SBPS_POPOUT;
    if (nCheck != 0) nStyle |= SBPS_POPOUT;
    pBar->SetPaneStyle((int)m_nIndex, nStyle);
}

void CStatusCmdUI::SetText(LPCTSTR lpszText) {
    CStatusBar* pBar = (CStatusBar*)m_pOther;
    if (pBar != NULL) pBar->SetPaneText((int)m_nIndex, lpszText);
}
