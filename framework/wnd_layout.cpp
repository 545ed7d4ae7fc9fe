// RepositionBars: the layout pass that lets bars (toolbars, status bars) take their
// share of a window's client area through WM_SIZEPARENT, and gives the rest to one
// window (the left-over id).
#include "framework/wnd.h"

void AFXAPI AfxRepositionWindow(AFX_SIZEPARENTPARAMS* lpLayout, HWND hWnd, LPCRECT lpRect) {
    HWND hWndParent = ::GetParent(hWnd);
    if (lpLayout != NULL && lpLayout->hDWP == NULL) return;  // query only: move nothing

    // Only move windows whose rectangle changes; a move costs a repaint.
    RECT rectOld;
    ::GetWindowRect(hWnd, &rectOld);
    ::MapWindowPoints(NULL, hWndParent, (POINT*)&rectOld, 2);
    if (::EqualRect(&rectOld, lpRect)) return;

    if (lpLayout != NULL)
        lpLayout->hDWP = ::DeferWindowPos(lpLayout->hDWP, hWnd, NULL, lpRect->left, lpRect->top,
                                          lpRect->right - lpRect->left, lpRect->bottom - lpRect->top,
                                          SWP_NOACTIVATE | SWP_NOZORDER);
    else
        ::SetWindowPos(hWnd, NULL, lpRect->left, lpRect->top, lpRect->right - lpRect->left,
                       lpRect->bottom - lpRect->top, SWP_NOACTIVATE | SWP_NOZORDER);
}

void CWnd::RepositionBars(UINT nIDFirst, UINT nIDLast, UINT nIDLeftOver, UINT nFlags, LPRECT lpRectParam,
                          LPCRECT lpRectClient, BOOL bStretch) {
    AFX_SIZEPARENTPARAMS layout;
    HWND hWndLeftOver = NULL;

    layout.bStretch = bStretch;
    layout.sizeTotal.cx = layout.sizeTotal.cy = 0;
    if (lpRectClient != NULL)
        layout.rect = *lpRectClient;
    else
        ::GetClientRect(m_hWnd, &layout.rect);

    // The mode is the flags without reposNoPosLeftOver.
    const UINT nMode = nFlags & ~reposNoPosLeftOver;
    layout.hDWP = (nMode == reposQuery) ? NULL : ::BeginDeferWindowPos(8);

    for (HWND hWndChild = ::GetTopWindow(m_hWnd); hWndChild != NULL;
         hWndChild = ::GetWindow(hWndChild, GW_HWNDNEXT)) {
        // The whole id: a child whose id runs past 16 bits is not a bar of the range.
        UINT nIDC = (UINT)::GetDlgCtrlID(hWndChild);
        CWnd* pWnd = CWnd::FromHandlePermanent(hWndChild);
        if (nIDC == nIDLeftOver)
            hWndLeftOver = hWndChild;
        else if (nIDC >= nIDFirst && nIDC <= nIDLast && pWnd != NULL)
            ::SendMessageA(hWndChild, WM_SIZEPARENT, 0, (LPARAM)&layout);
    }

    if (nMode == reposQuery) {
        // The caller wants to know the size, not to move anything.
        if (lpRectParam != NULL) {
            if (bStretch)
                ::CopyRect(lpRectParam, &layout.rect);
            else {
                lpRectParam->left = lpRectParam->top = 0;
                lpRectParam->right = layout.sizeTotal.cx;
                lpRectParam->bottom = layout.sizeTotal.cy;
            }
        }
        return;
    }

    if (nIDLeftOver != 0 && hWndLeftOver != NULL) {
        CWnd* pLeftOver = CWnd::FromHandle(hWndLeftOver);
        if (nMode == reposExtra && lpRectParam != NULL) {
            layout.rect.left += lpRectParam->left;
            layout.rect.top += lpRectParam->top;
            layout.rect.right -= lpRectParam->right;
            layout.rect.bottom -= lpRectParam->bottom;
        }
        if ((nFlags & reposNoPosLeftOver) == 0) {
            pLeftOver->CalcWindowRect(&layout.rect, CWnd::adjustBorder);
            AfxRepositionWindow(&layout, hWndLeftOver, &layout.rect);
        }
    }

    if (layout.hDWP == NULL || !::EndDeferWindowPos(layout.hDWP)) {
        // The batch failed (or was never made): nothing more to do.
    }
}
