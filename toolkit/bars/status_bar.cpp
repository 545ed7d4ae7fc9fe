// The status bar's panes, pane extras and the child controls placed over panes. Painting,
// hit testing, tips and the context menu are in status_bar_paint.cpp.
#include "toolkit/bars/status_bar.h"
#include "toolkit/core/cmd_icon.h"
#include "toolkit/core/cmd_manager.h"
#include "toolkit/core/resource_manager.h"

IMPLEMENT_DYNCREATE(CExtStatusControlBar, CStatusBar)

CExtStatusControlBar::CExtStatusControlBar()
    : m_mapExtData(10), m_nSuspendFlags(0), m_nTipStyle(4), m_nOptionFlags(0), m_nDefaultTextFormat(DT_SINGLELINE | DT_VCENTER),
      m_clrStatusBk(COLORREF(-1)), m_clrSecond(COLORREF(-1)), m_clrBorder(COLORREF(-1)), m_clrText(COLORREF(-1)),
      m_clrTextDisabled(COLORREF(-1))
{
    // Themed painting on, disabled panes without text; no pane-0 border, no forced
    // separators, icons asked of the status control.
    m_nOptionFlags = BYTE((m_nOptionFlags & 0xEA) | 0x0A);
    RegisterWithHolder();
}

CExtStatusControlBar::~CExtStatusControlBar()
{
    UnregisterFromHolder();
    RemoveAllPaneControls();
    m_arrPaneControls.RemoveAll();
    m_mapExtData.RemoveAll();
    // The status control is gone by now (or never shows our icons again).
    for (INT_PTR i = 0; i < m_arrOwnedIcons.GetSize(); i++)
        if (m_arrOwnedIcons[i] != NULL)
            ::DestroyIcon(m_arrOwnedIcons[i]);
    m_arrOwnedIcons.RemoveAll();
}

void CExtStatusControlBar::RegisterWithHolder() { g_CurrentPaintManager.RegisterBridge(this); }

void CExtStatusControlBar::UnregisterFromHolder() { g_CurrentPaintManager.UnregisterBridge(this); }

HWND CExtStatusControlBar::GetBridgeHwnd() { return m_hWnd; }

CExtPaintManager* CExtStatusControlBar::GetPaintManager() { return g_CurrentPaintManager.GetPM(); }

// ---- panes ------------------------------------------------------------------------------

bool CExtStatusControlBar::GetPaneInfoEx(int nIndex, _STATUSBAR_PANE_* pPane) const
{
    if (pPane == NULL || nIndex < 0 || nIndex >= m_nCount)
        return false;
    AFX_STATUSPANE* pSBP = _GetPanePtr(nIndex);
    if (pSBP == NULL)
        return false;
    pPane->nID = pSBP->nID;
    pPane->nStyle = pSBP->nStyle;
    pPane->cxText = pSBP->cxText;
    pPane->nFlags = pSBP->nFlags;
    pPane->strText = pSBP->strText;
    return true;
}

bool CExtStatusControlBar::SetPaneInfoEx(int nIndex, const _STATUSBAR_PANE_* pPane, bool bRedraw)
{
    if (pPane == NULL || nIndex < 0 || nIndex >= m_nCount)
        return false;
    SetPaneInfo(nIndex, pPane->nID, pPane->nStyle, pPane->cxText);
    SetPaneText(nIndex, pPane->strText, bRedraw ? TRUE : FALSE);
    return true;
}

void CExtStatusControlBar::SetPaneInfo(int nIndex, UINT nID, UINT nStyle, int cxWidth)
{
    CStatusBar::SetPaneInfo(nIndex, nID, nStyle, cxWidth);
    EnablePaneControls(nIndex, (nStyle & SBPS_DISABLED) == 0);
}

void CExtStatusControlBar::SetPaneWidth(int nIndex, int cxWidth)
{
    _STATUSBAR_PANE_ pane;
    if (!GetPaneInfoEx(nIndex, &pane))
        return;
    pane.cxText = cxWidth;
    SetPaneInfoEx(nIndex, &pane);
}

UINT CExtStatusControlBar::GetPaneID(int nIndex) const
{
    if (m_hWnd == NULL)
        return 0;
    return GetItemID(nIndex);
}

bool CExtStatusControlBar::SetIndicators(const UINT* pIDs, int nCount)
{
    if (nCount < 0 || !AllocElements(nCount, sizeof(AFX_STATUSPANE)))
        return false;
    if (pIDs == NULL)
    {
        UpdateAllPanes(TRUE, TRUE);
        return true;
    }
    bool bResult = true;
    HFONT hFont = m_hWnd != NULL ? (HFONT)::SendMessage(m_hWnd, WM_GETFONT, 0, 0) : NULL;
    HDC hDC = ::GetDC(NULL);
    HGDIOBJ hOldFont = (hDC != NULL && hFont != NULL) ? ::SelectObject(hDC, hFont) : NULL;
    for (int i = 0; i < nCount; i++)
    {
        AFX_STATUSPANE* pSBP = _GetPanePtr(i);
        pSBP->nFlags |= SBPF_UPDATE;
        pSBP->nID = pIDs[i];
        if (pSBP->nID != 0)
        {
            CString sText;
            if (!g_CurrentResourceManager->LoadString(sText, pSBP->nID))
                sText.Empty();
            SIZE size = {0, 0};
            if (hDC != NULL && !sText.IsEmpty())
                ::GetTextExtentPoint32A(hDC, sText, sText.GetLength(), &size);
            pSBP->cxText = size.cx;
            if (!SetPaneText(i, sText, FALSE))
            {
                // The font and the screen DC go back below on this exit too.
                bResult = false;
                break;
            }
        }
        else
        {
            pSBP->cxText = ::GetSystemMetrics(SM_CXSCREEN) / 4;
            if (i == 0)
                pSBP->nStyle |= (SBPS_STRETCH | SBPS_NOBORDERS);
        }
    }
    if (hOldFont != NULL)
        ::SelectObject(hDC, hOldFont);
    if (hDC != NULL)
        ::ReleaseDC(NULL, hDC);
    UpdateAllPanes(TRUE, TRUE);
    return bResult;
}

void CExtStatusControlBar::ReplaceOwnedIcons(CArray<HICON, HICON>& arrNew)
{
    for (INT_PTR i = 0; i < m_arrOwnedIcons.GetSize(); i++)
    {
        HICON hOld = m_arrOwnedIcons[i];
        if (hOld == NULL)
            continue;
        bool bStillShown = false;
        for (INT_PTR j = 0; j < arrNew.GetSize() && !bStillShown; j++)
            bStillShown = (arrNew[j] == hOld);
        if (!bStillShown)
            ::DestroyIcon(hOld);
    }
    m_arrOwnedIcons.RemoveAll();
    for (INT_PTR i = 0; i < arrNew.GetSize(); i++)
        if (arrNew[i] != NULL)
            m_arrOwnedIcons.Add(arrNew[i]);
}

bool CExtStatusControlBar::AddPane(UINT nID, int nIndex)
{
    const int nCountOld = m_nCount;
    if (nIndex < 0 || nIndex > nCountOld || CommandToIndex(nID) != -1)
        return false;
    m_nSuspendFlags |= 0x01;

    const int nCountNew = nCountOld + 1;
    CArray<_STATUSBAR_PANE_, _STATUSBAR_PANE_&> arrPanes;
    CArray<HICON, HICON> arrIcons;
    CArray<UINT, UINT> arrIDs;
    arrPanes.SetSize(nCountNew);
    arrIcons.SetSize(nCountNew);
    arrIDs.SetSize(nCountNew);
    for (int i = 0; i < nCountNew; i++)
    {
        arrIcons[i] = NULL;
        if (i == nIndex)
        {
            arrPanes[i].nID = nID;
            arrIDs[i] = nID;
            continue;
        }
        const int nOld = (i < nIndex) ? i : i - 1;
        GetPaneInfoEx(nOld, &arrPanes[i]);
        arrIDs[i] = arrPanes[i].nID;
        if (m_hWnd != NULL)
        {
            HICON hIcon = (HICON)::SendMessage(m_hWnd, SB_GETICON, (WPARAM)nOld, 0);
            if (hIcon != NULL)
            {
                CExtCmdIcon icon;
                icon.AssignFromHICON(hIcon, true);
                arrIcons[i] = icon.IsEmpty() ? NULL : icon.ExtractHICON();
            }
        }
    }

    const bool bResult = SetIndicators(arrIDs.GetData(), nCountNew);
    if (bResult)
    {
        for (int i = 0; i < nCountNew; i++)
            if (i != nIndex)
                SetPaneInfoEx(i, &arrPanes[i]);
    }
    if (bResult && m_hWnd != NULL)
    {
        for (int i = 0; i < nCountNew; i++)
            ::SendMessage(m_hWnd, SB_SETICON, (WPARAM)i, (LPARAM)arrIcons[i]);
        ReplaceOwnedIcons(arrIcons);
    }
    else
    {
        // Nothing shows the copies: they go at once.
        for (int i = 0; i < nCountNew; i++)
            if (arrIcons[i] != NULL)
                ::DestroyIcon(arrIcons[i]);
    }
    m_nSuspendFlags &= ~0x01;
    RepositionPaneControls(true);
    return bResult;
}

void CExtStatusControlBar::SetDrawPaneBorders(bool bDraw)
{
    if (bDraw)
        m_nOptionFlags |= __ESBO_PANE0_BORDER;
    else
        m_nOptionFlags &= ~__ESBO_PANE0_BORDER;
    if (m_hWnd != NULL)
    {
        InvalidateRect(NULL);
        UpdateWindow();
    }
}

// ---- pane extras ------------------------------------------------------------------------

int CExtStatusControlBar::GetPaneTextFormat(int nIndex) const
{
    _ED_ ed;
    if (m_hWnd == NULL || nIndex < 0 || nIndex >= m_nCount || !m_mapExtData.Lookup(GetItemID(nIndex), ed))
        return m_nDefaultTextFormat;
    return ed.m_nTextFormat;
}

int CExtStatusControlBar::LookupPaneExtValue(int nIndex) const
{
    _ED_ ed;
    if (m_hWnd == NULL || nIndex < 0 || nIndex >= m_nCount || !m_mapExtData.Lookup(GetItemID(nIndex), ed))
        return 0;
    return ed.m_nExtValue;
}

CString CExtStatusControlBar::GetPaneTipText(int nIndex) const
{
    _ED_ ed;
    if (nIndex < 0 || nIndex >= m_nCount || !m_mapExtData.Lookup(GetItemID(nIndex), ed))
        return CString();
    return ed.m_strTipText;
}

int CExtStatusControlBar::GetPaneExtValue(int nIndex) const
{
    if (m_hWnd == NULL || nIndex < 0 || nIndex >= m_nCount)
        return 2;
    const int nValue = LookupPaneExtValue(nIndex);
    if (nValue != 0)
        return nValue;
    return GetItemID(nIndex) == 0 ? 1 : 2;
}

// ---- pane controls ----------------------------------------------------------------------

int CExtStatusControlBar::FindPaneControl(UINT nID) const
{
    for (INT_PTR i = 0; i < m_arrPaneControls.GetSize(); i++)
        if (m_arrPaneControls[i]->nID == nID)
            return (int)i;
    return -1;
}

bool CExtStatusControlBar::AddPaneControl(HWND hWnd, UINT nID, bool bDestroyOnRemove)
{
    if (hWnd == NULL || !::IsWindow(hWnd))
        return false;
    for (INT_PTR i = 0; i < m_arrPaneControls.GetSize(); i++)
        if (m_arrPaneControls[i]->hWnd == hWnd)
            return false;
    _STATUSBAR_PANE_CTRL_* pCtrl = new _STATUSBAR_PANE_CTRL_;
    pCtrl->hWnd = hWnd;
    pCtrl->nID = nID;
    pCtrl->bDestroyOnRemove = bDestroyOnRemove;
    m_arrPaneControls.Add(pCtrl);
    RepositionPaneControls(true);
    return true;
}

void CExtStatusControlBar::EnablePaneControls(int nIndex, bool bEnable)
{
    if (nIndex < 0 || nIndex >= m_nCount)
        return;
    const UINT nID = GetItemID(nIndex);
    for (INT_PTR i = 0; i < m_arrPaneControls.GetSize(); i++)
    {
        _STATUSBAR_PANE_CTRL_* pCtrl = m_arrPaneControls[i];
        if (pCtrl->nID == nID && pCtrl->hWnd != NULL && ::IsWindow(pCtrl->hWnd))
            ::EnableWindow(pCtrl->hWnd, bEnable ? TRUE : FALSE);
    }
    if (m_hWnd != NULL)
    {
        InvalidateRect(NULL);
        UpdateWindow();
    }
}

bool CExtStatusControlBar::RemovePaneControl(UINT nID)
{
    const int nPos = FindPaneControl(nID);
    if (nPos < 0)
        return false;
    _STATUSBAR_PANE_CTRL_* pCtrl = m_arrPaneControls[nPos];
    m_arrPaneControls.RemoveAt(nPos);
    if (pCtrl->hWnd != NULL && ::IsWindow(pCtrl->hWnd))
    {
        ::ShowWindow(pCtrl->hWnd, SW_HIDE);
        if (pCtrl->bDestroyOnRemove)
        {
            // A framework object whose window this is deletes itself or stays with its
            // owner; the bar only ends the window.
            CWnd* pWnd = CWnd::FromHandlePermanent(pCtrl->hWnd);
            if (pWnd != NULL)
                pWnd->DestroyWindow();
            else
                ::DestroyWindow(pCtrl->hWnd);
        }
    }
    delete pCtrl;
    return true;
}

void CExtStatusControlBar::RemoveAllPaneControls()
{
    CList<UINT, UINT> listIDs;
    for (INT_PTR i = 0; i < m_arrPaneControls.GetSize(); i++)
        listIDs.AddTail(m_arrPaneControls[i]->nID);
    for (POSITION pos = listIDs.GetHeadPosition(); pos != NULL;)
        RemovePaneControl(listIDs.GetNext(pos));
}

void CExtStatusControlBar::RepositionPaneControls(bool bRedraw)
{
    if (m_hWnd == NULL)
        return;
    const INT_PTR nCount = m_arrPaneControls.GetSize();
    if (nCount > 0)
    {
        HDWP hDWP = ::BeginDeferWindowPos((int)nCount);
        const bool bSeparators = HasPaneSeparators();
        for (INT_PTR i = 0; i < nCount; i++)
        {
            _STATUSBAR_PANE_CTRL_* pCtrl = m_arrPaneControls[i];
            if (pCtrl->hWnd == NULL || !::IsWindow(pCtrl->hWnd))
                continue;
            const int nIndex = CommandToIndex(pCtrl->nID);
            if (nIndex < 0)
            {
                // Its pane is gone: the control must not linger over another pane.
                ::ShowWindow(pCtrl->hWnd, SW_HIDE);
                continue;
            }
            CRect rc;
            GetPanePaintRect(nIndex, rc);
            const int cxEdge = ::GetSystemMetrics(SM_CXEDGE);
            if ((GetPaneStyle(nIndex) & SBPS_NOBORDERS) == 0 && !bSeparators)
                rc.DeflateRect(cxEdge, cxEdge);
            else
                rc.DeflateRect(cxEdge, 1);
            const UINT nFlags = SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED | SWP_NOCOPYBITS | SWP_NOOWNERZORDER;
            if (hDWP != NULL)
                hDWP = ::DeferWindowPos(hDWP, pCtrl->hWnd, NULL, rc.left, rc.top, rc.Width(), rc.Height(), nFlags);
            else
                ::SetWindowPos(pCtrl->hWnd, NULL, rc.left, rc.top, rc.Width(), rc.Height(), nFlags);
        }
        if (hDWP != NULL)
            ::EndDeferWindowPos(hDWP);
    }
    if (bRedraw)
    {
        InvalidateRect(NULL);
        UpdateWindow();
    }
}

void CExtStatusControlBar::GetPanePaintRect(int nIndex, CRect& rcPane) const
{
    GetItemRect(nIndex, &rcPane);
    if (m_hWnd == NULL || nIndex < 0 || nIndex >= m_nCount)
        return;
    // The control works its part bounds out again when the parts change, not when the
    // bar alone is resized: panes given before the bar's first layout would keep the
    // zero height of then and paint nothing. The height comes from the client area.
    CRect rcClient;
    GetClientRect(&rcClient);
    int rgBorders[3] = {0, 0, 0};
    ControlProc(SB_GETBORDERS, 0, (LPARAM)rgBorders);
    rcPane.top = rcClient.top + rgBorders[1];
    rcPane.bottom = rcClient.bottom;
    if (nIndex != m_nCount - 1)
        return;
    const int cxEdge = ::GetSystemMetrics(SM_CXEDGE);
    if ((GetPaneStyle(nIndex) & SBPS_STRETCH) != 0)
    {
        CRect rcClient;
        GetClientRect(&rcClient);
        rcPane.right = rcClient.right;
        if ((GetStyle() & SBARS_SIZEGRIP) != 0)
            rcPane.right -= ::GetSystemMetrics(SM_CXSMICON) + cxEdge;
    }
    else
    {
        UINT nID = 0, nStyle = 0;
        int cxWidth = 0;
        GetPaneInfo(nIndex, nID, nStyle, cxWidth);
        rcPane.right = rcPane.left + cxWidth + 3 * cxEdge;
    }
}

void CExtStatusControlBar::PostNcDestroy()
{
    RemoveAllPaneControls();
    CStatusBar::PostNcDestroy();
}
