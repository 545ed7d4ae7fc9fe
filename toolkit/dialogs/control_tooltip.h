#pragma once

#include "framework/framework.h"

// The edit and combo box controls keep their own tool tip window with one tool covering
// the client area. It is made on first use and starts inactive, so a control that never
// gets a tip never makes one.
inline bool EnsureControlToolTip(CToolTipCtrl& wndToolTip, CWnd* pOwner)
{
    if (wndToolTip.m_hWnd != NULL)
        return true;
    if (pOwner->m_hWnd == NULL || !wndToolTip.Create(pOwner, 0))
        return false;
    wndToolTip.Activate(FALSE);
    return true;
}

// A tip with a line break would otherwise be laid out on one line: only then does the
// owner's width limit apply.
template <class TOwner>
void SetControlToolTipText(CToolTipCtrl& wndToolTip, TOwner* pOwner, LPCTSTR sText, bool bActivate)
{
    if (sText == NULL || *sText == _T('\0') || !EnsureControlToolTip(wndToolTip, pOwner))
        return;
    if (wndToolTip.GetToolCount() == 0)
    {
        CRect rc;
        pOwner->GetClientRect(&rc);
        wndToolTip.AddTool(pOwner, sText, &rc, 1);
    }
    wndToolTip.UpdateTipText(sText, pOwner, 1);
    wndToolTip.SendMessage(TTM_SETMAXTIPWIDTH, 0, -1);
    if (_tcschr(sText, _T('\r')) != NULL)
        wndToolTip.SendMessage(TTM_SETMAXTIPWIDTH, 0, pOwner->GetTipMaxWidth(sText));
    wndToolTip.Activate(bActivate ? TRUE : FALSE);
}

inline void ActivateControlToolTip(CToolTipCtrl& wndToolTip, bool bActivate)
{
    if (wndToolTip.m_hWnd != NULL && wndToolTip.GetToolCount() > 0)
        wndToolTip.Activate(bActivate ? TRUE : FALSE);
}

// A control standing on a toolbar (pBar) shows the bar's tip for it: the bar is asked at
// the point (in the control's client coordinates) with the tip owner's window rectangle
// as the tool's, and the text it gives goes into the control's own tip unless that tip is
// showing already. The bar's text is freed here; always -1, since the control's own tip
// does the showing.
template <class TControl>
INT_PTR ForwardToolbarToolTip(TControl* pControl, CWnd* pBar, HWND hWndTipOwner, CPoint point, TOOLINFO* pTI)
{
    if (pTI == NULL)
        return -1;
    CPoint ptBar(point);
    ::ClientToScreen(pControl->m_hWnd, &ptBar);
    ::ScreenToClient(pBar->m_hWnd, &ptBar);
    RECT rcSaved = pTI->rect;
    CRect rcWnd;
    ::GetWindowRect(hWndTipOwner, &rcWnd);
    ::ScreenToClient(pBar->m_hWnd, (LPPOINT)&rcWnd.left);
    ::ScreenToClient(pBar->m_hWnd, (LPPOINT)&rcWnd.right);
    pTI->rect = rcWnd;
    INT_PTR nHit = pBar->OnToolHitTest(ptBar, pTI);
    pTI->rect = rcSaved;
    pTI->hwnd = hWndTipOwner;
    if (pTI->lpszText != NULL && pTI->lpszText != LPSTR_TEXTCALLBACK)
    {
        if (nHit != -1)
        {
            HWND hTip = pControl->m_wndToolTip.m_hWnd;
            if (hTip == NULL || !::IsWindowVisible(hTip))
            {
                pControl->SetTooltipText(pTI->lpszText, true);
                pControl->ActivateTooltip(true);
            }
        }
        ::free(pTI->lpszText);
        pTI->lpszText = NULL;
    }
    return -1;
}
