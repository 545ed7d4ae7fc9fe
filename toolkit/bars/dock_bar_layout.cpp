// CExtDockBar's row layout (bars wrap by their minimum extents), its strip of the
// frame in WM_SIZEPARENT, the bars context menu, and the frame's docking set-up.
#include "toolkit/bars/dock_bar.h"
#include <algorithm>
#include "framework/afxres.h"
#include "framework/miniframe.h"
#include "toolkit/core/cmd_item.h"
#include "toolkit/core/cmd_manager.h"
#include "toolkit/core/cmd_tree.h"
#include "toolkit/menus/popup_menu_wnd.h"
#include "toolkit/bars/dyn_tab_control_bar.h"

namespace {

DWORD LayoutModeOf(const CControlBar* pBar)
{
    if ((pBar->m_dwStyle & CBRS_SIZE_DYNAMIC) != 0 && (pBar->m_dwStyle & CBRS_FLOATING) != 0)
        return LM_HORZ | LM_MRUWIDTH;
    if ((pBar->m_dwStyle & CBRS_ORIENT_HORZ) != 0)
        return LM_HORZ | LM_HORZDOCK;
    return LM_VERTDOCK;
}

int MinExtentAlong(CControlBar* pBar, bool bHorz)
{
    CExtControlBar* pExt = DYNAMIC_DOWNCAST(CExtControlBar, pBar);
    if (pExt != NULL && !pExt->IsFixedMode())
        return bHorz ? pExt->GetMinHorzExtent() : pExt->GetMinVertExtent();
    CRect rcWnd, rcClient;
    pBar->GetWindowRect(&rcWnd);
    pBar->GetClientRect(&rcClient);
    return bHorz ? rcWnd.Width() - rcClient.Width() : rcWnd.Height() - rcClient.Height();
}

}  // namespace

// ---- row layout -----------------------------------------------------------------------

CSize CExtDockBar::GetLayoutArea()
{
    // The rectangle the frame lays the bar out in; before the first layout, the frame's
    // client area.
    if (!m_rectLayout.IsRectEmpty())
        return m_rectLayout.Size();
    CRect rcFrame;
    CFrameWnd* pFrame = GetParentFrame();
    if (pFrame != NULL)
        pFrame->GetClientRect(&rcFrame);
    else
        GetClientRect(&rcFrame);
    return rcFrame.Size();
}

CSize CExtDockBar::CalcFixedLayout(BOOL bStretch, BOOL bHorz)
{
    CSize sizeFixed = CControlBar::CalcFixedLayout(bStretch, bHorz);
    const CSize sizeMax = GetLayoutArea();
    AFX_SIZEPARENTPARAMS layout;
    ::ZeroMemory(&layout, sizeof(layout));
    layout.hDWP = m_bLayoutQuery ? NULL : ::BeginDeferWindowPos(int(m_arrBars.GetSize()));
    layout.bStretch = bStretch;

    CPoint pt(0, 0);
    int nThickness = 0;
    bool bWrapped = false;
    for (INT_PTR nPos = 0; nPos < m_arrBars.GetSize(); nPos++)
    {
        CControlBar* pBar = GetDockedControlBar(int(nPos));
        void* pVoid = m_arrBars[nPos];
        if (pBar != NULL && pBar->m_hWnd != NULL)
        {
            if (!pBar->IsVisible())
            {
                if (!bWrapped)
                    pBar->RecalcDelayShow(&layout);
                continue;
            }
            const CSize sizeBar = pBar->CalcDynamicLayout(-1, LayoutModeOf(pBar));
            const int nMin = MinExtentAlong(pBar, bHorz != FALSE);
            CExtControlBar* pExt = DYNAMIC_DOWNCAST(CExtControlBar, pBar);
            const bool bResizable = pExt != NULL && !pExt->IsFixedMode();
            CRect rcPlan(pt, sizeBar);
            CRect rcBar;
            pBar->GetWindowRect(&rcBar);
            ScreenToClient(&rcBar);
            // Work in "along, across" terms by swapping a vertical dock bar's axes.
            const int nAvail = bHorz ? sizeMax.cx : sizeMax.cy;
            int nStart = bHorz ? rcPlan.left : rcPlan.top;
            const int nLen = bHorz ? sizeBar.cx : sizeBar.cy;
            const int nPen = bHorz ? pt.x : pt.y;
            const int nCur = bHorz ? rcBar.left : rcBar.top;
            if (nCur > nStart && !m_bFloating)
                nStart = nCur;
            int nEnd = nStart + nLen;
            if (nEnd > nAvail && !m_bFloating)
            {
                nStart = std::max(nAvail - nLen, nPen);
                nEnd = std::min(nStart + nLen, nAvail);
            }
            if (bWrapped)
            {
                nEnd -= nStart;
                nStart = 0;
                bWrapped = false;
            }
            else if (nPos > 0 && m_arrBars[nPos - 1] != NULL &&
                     (((nEnd - nStart) < nMin && !bResizable) || nStart >= nAvail))
            {
                // A bar that already starts its row stays there however little room
                // the row has: another row end before it would only add an empty row.
                m_arrBars.InsertAt(nPos, (void*)NULL);
                bWrapped = true;
                pBar = NULL;
                pVoid = NULL;
            }
            if (pBar != NULL)
            {
                if (bHorz)
                    rcPlan = CRect(nStart, pt.y, nEnd, pt.y + sizeBar.cy);
                else
                    rcPlan = CRect(pt.x, nStart, pt.x + sizeBar.cx, nEnd);
                if (rcPlan != rcBar)
                {
                    if (!m_bLayoutQuery && (pBar->m_dwStyle & CBRS_FLOATING) == 0 && pBar->m_pDockContext != NULL)
                        pBar->m_pDockContext->m_rectMRUDockPos = rcPlan;
                    AfxRepositionWindow(&layout, pBar->m_hWnd, &rcPlan);
                }
                if (bHorz)
                    pt.x = rcPlan.left + sizeBar.cx;
                else
                    pt.y = rcPlan.top + sizeBar.cy;
                nThickness = std::max(nThickness, int(bHorz ? sizeBar.cy : sizeBar.cx));
                pBar->RecalcDelayShow(&layout);
            }
        }
        if (pBar == NULL && pVoid == NULL && nThickness != 0)
        {
            // A row end: rows touch without overlapping.
            if (bHorz)
            {
                pt.y += nThickness;
                sizeFixed.cx = std::max(sizeFixed.cx, LONG(pt.x));
                sizeFixed.cy = std::max(sizeFixed.cy, LONG(pt.y));
                sizeFixed.cy--;
                pt.x = 0;
            }
            else
            {
                pt.x += nThickness;
                sizeFixed.cx = std::max(sizeFixed.cx, LONG(pt.x));
                sizeFixed.cy = std::max(sizeFixed.cy, LONG(pt.y));
                sizeFixed.cx--;
                pt.y = 0;
            }
            nThickness = 0;
        }
    }
    return EndFixedLayout(sizeFixed, layout, bStretch, bHorz);
}

CSize CExtDockBar::EndFixedLayout(CSize sizeFixed, AFX_SIZEPARENTPARAMS& layout, BOOL bStretch, BOOL bHorz)
{
    if (!m_bLayoutQuery && layout.hDWP != NULL)
        ::EndDeferWindowPos(layout.hDWP);
    // The pixel each row gave back returns, as the framework's dock bar adds its borders.
    if (sizeFixed.cx != 0 && (!bStretch || !bHorz))
        sizeFixed.cx++;
    if (sizeFixed.cy != 0 && (!bStretch || bHorz))
        sizeFixed.cy++;
    if (!m_bLayoutQuery)
        UpdateNestedLayout();
    return sizeFixed;
}

// ---- the strip of the frame -----------------------------------------------------------

LRESULT CExtDockBar::OnSizeParent(WPARAM, LPARAM lParam)
{
    if (m_bLockLayout || lParam == 0)
        return 0;
    AFX_SIZEPARENTPARAMS* lpLayout = reinterpret_cast<AFX_SIZEPARENTPARAMS*>(lParam);
    const BOOL bSavedQuery = m_bLayoutQuery;
    const CRect rcSavedLayout = m_rectLayout;
    m_bLayoutQuery = (lpLayout->hDWP == NULL);
    m_rectLayout = lpLayout->rect;

    const DWORD dwStyle = RecalcDelayShow(lpLayout);
    const bool bRTL = GetParent() != NULL && (GetParent()->GetExStyle() & WS_EX_LAYOUTRTL) != 0;
    if ((dwStyle & WS_VISIBLE) != 0 && (dwStyle & CBRS_ALIGN_ANY) != 0)
    {
        CRect rect(lpLayout->rect);
        const CSize sizeAvail = rect.Size();
        DWORD dwMode = lpLayout->bStretch ? LM_STRETCH : 0;
        dwMode |= LayoutModeOf(this);
        CSize size = CalcDynamicLayout(-1, dwMode);
        size.cx = std::min(size.cx, sizeAvail.cx);
        size.cy = std::min(size.cy, sizeAvail.cy);
        if ((dwStyle & CBRS_ORIENT_HORZ) != 0)
        {
            lpLayout->sizeTotal.cy += size.cy;
            lpLayout->sizeTotal.cx = std::max(lpLayout->sizeTotal.cx, size.cx);
            if ((dwStyle & CBRS_ALIGN_TOP) != 0)
                lpLayout->rect.top += size.cy;
            else
            {
                rect.top = rect.bottom - size.cy;
                lpLayout->rect.bottom -= size.cy;
            }
        }
        else
        {
            lpLayout->sizeTotal.cx += size.cx;
            lpLayout->sizeTotal.cy = std::max(lpLayout->sizeTotal.cy, size.cy);
            const bool bLeftStrip = ((dwStyle & CBRS_ALIGN_LEFT) != 0) != bRTL;
            if (bLeftStrip)
                lpLayout->rect.left += size.cx;
            else
            {
                rect.left = rect.right - size.cx;
                lpLayout->rect.right -= size.cx;
            }
        }
        rect.right = rect.left + size.cx;
        rect.bottom = rect.top + size.cy;
        if (lpLayout->hDWP != NULL)
            AfxRepositionWindow(lpLayout, m_hWnd, &rect);
    }
    m_bLayoutQuery = bSavedQuery;
    m_rectLayout = rcSavedLayout;
    if ((dwStyle & CBRS_ALIGN_ANY) == 0 || UINT(GetDlgCtrlID()) == AFX_IDW_DOCKBAR_FLOAT)
        return 0;
    if (lpLayout->hDWP != NULL)
        Invalidate();
    // The docking line of this side: the inner edge of the strip, in screen terms.
    CRect rcEdge(lpLayout->rect);
    switch (GetDlgCtrlID())
    {
    case AFX_IDW_DOCKBAR_TOP: rcEdge.bottom = rcEdge.top; break;
    case AFX_IDW_DOCKBAR_BOTTOM: rcEdge.top = rcEdge.bottom; break;
    case AFX_IDW_DOCKBAR_LEFT:
        if (bRTL)
            rcEdge.left = rcEdge.right;
        else
            rcEdge.right = rcEdge.left;
        break;
    case AFX_IDW_DOCKBAR_RIGHT:
        if (bRTL)
            rcEdge.right = rcEdge.left;
        else
            rcEdge.left = rcEdge.right;
        break;
    default: break;
    }
    if (GetParent() != NULL)
        GetParent()->ClientToScreen(&rcEdge);
    m_rcLastInvisiblePreCalc = rcEdge;
    return 0;
}

// ---- bars context menu ----------------------------------------------------------------

void CExtDockBar::OnContextMenu(CWnd*, CPoint point)
{
    if (CExtControlBar::IsFrameInHelpMode(this))
        return;
    CControlBar* pFirst = NULL;
    for (INT_PTR i = 1; i < m_arrBars.GetSize() && pFirst == NULL; i++)
        pFirst = GetDockedControlBar(int(i));
    if (pFirst == NULL || pFirst->m_hWnd == NULL)
        return;
    CWnd* pOwner = pFirst->GetOwner();
    if (pOwner == NULL)
        pOwner = pFirst->GetParent();
    if (pOwner == NULL)
        return;
    CFrameWnd* pFrame = GetDockingFrame();
    CExtPopupMenuWnd* pPopup = new CExtPopupMenuWnd;
    if (!pPopup->CreatePopupMenu(pOwner->GetSafeHwnd()) ||
        !BuildBarsPopupMenu(pFrame, pPopup, 0, this, WM_CONTEXTMENU, NULL) || pPopup->ItemGetCount() == 0)
    {
        delete pPopup;
        return;
    }
    pOwner->SetFocus();
    if (point.x == -1 && point.y == -1)
        ::GetCursorPos(&point);
    if (!pPopup->TrackPopupMenu(CExtPopupMenuWnd::TMF_OWNER_DRAW, point.x, point.y))
        delete pPopup;
}

bool CExtDockBar::BuildBarsPopupMenu(CFrameWnd* pFrame, CExtPopupMenuWnd* pPopup, WORD nEventCode,
                                     CWnd* pWndEventSrc, UINT nMsgID, CObject* pEventSrcObj)
{
    if (pPopup == NULL)
        return false;
    const POINT ptCursor = {-1, -1};
    CExtControlBar::POPUP_MENU_EVENT_DATA _pmed(nEventCode, pPopup, pWndEventSrc, ptCursor, nMsgID, pEventSrcObj);
    const bool bOleActive = CExtControlBar::IsOleInPlaceActive(pFrame);
    if (!_pmed.NotifyTarget(false) && pFrame != NULL)
    {
        CArray<CExtControlBar*, CExtControlBar*> arrBars;
        CExtControlBar::GetFrameControlBars(NULL, pFrame, arrBars, 0xFFF);
        LPCTSTR sProfile = g_CommandManager->ProfileNameFromWnd(pPopup->GetCmdReceiverHWND());
        CExtControlBar* pPrev = NULL;
        for (INT_PTR i = 0; i < arrBars.GetSize(); i++)
        {
            CExtControlBar* pBar = arrBars[i];
            if (pBar->GetSafeHwnd() == NULL || CExtPaintManagerHolder::IsKindOfByName(pBar, "CExtDynControlBar") ||
                (pBar->m_nStateFlags & CControlBar::tempHide) != 0 ||
                (bOleActive && (pBar->m_dwStyle & CBRS_HIDE_INPLACE) != 0))
                continue;
            CString sText;
            pBar->GetWindowText(sText);
            if (sText.IsEmpty())
                continue;
            // Fixed bars and resizable bars are listed in groups of their own.
            if (pPrev != NULL && pPrev->IsFixedDockStyle() != pBar->IsFixedDockStyle())
                pPopup->ItemInsert(CExtPopupMenuWnd::TYPE_SEPARATOR);
            CExtCmdItem cmd(UINT(pBar->GetDlgCtrlID()));
            cmd.LoadTextsFromResource();
            cmd.m_sMenuText = sText;
            if (sProfile != NULL)
                g_CommandManager->CmdSetup(sProfile, cmd);
            if (!pBar->InsertIntoBarsMenu(pPopup))
                continue;
            const int nPos = pPopup->ItemGetCount() - 1;
            if (nPos >= 0 && !pPopup->ItemGetInfo(nPos).IsSeparator())
                pPopup->ItemGetInfo(nPos).SetCheck((pBar->GetStyle() & WS_VISIBLE) != 0);
            pPrev = pBar;
        }
        for (int i = pPopup->ItemGetCount() - 1; i > 0; i--)
            if (pPopup->ItemGetInfo(i).IsSeparator() && pPopup->ItemGetInfo(i - 1).IsSeparator())
                pPopup->ItemRemove(i);
        const bool bListEvent = nEventCode <= 3 || nEventCode == 5;
        if (!bOleActive && bListEvent && CExtCustomizeSite::GetCustomizeSite(pFrame->GetSafeHwnd()) != NULL)
        {
            const int nCount = pPopup->ItemGetCount();
            if (nCount > 0 && !pPopup->ItemGetInfo(nCount - 1).IsSeparator())
                pPopup->ItemInsert(CExtPopupMenuWnd::TYPE_SEPARATOR);
            pPopup->ItemInsert(0x75ED);
        }
    }
    _pmed.NotifyTarget(true);
    const int nCount = pPopup->ItemGetCount();
    if (nCount > 0 && pPopup->ItemGetInfo(nCount - 1).IsSeparator())
        pPopup->ItemRemove(nCount - 1);
    return true;
}

// ---- the frame's docking set-up and docking into a side ---------------------------------

bool CExtControlBar::EnableFrameDocking(CFrameWnd* pFrame, DWORD dwDockStyle, bool bToolkitFloatingFrames)
{
    if (pFrame == NULL || pFrame->m_hWnd == NULL)
        return false;
    pFrame->EnableDocking(dwDockStyle);
    static const UINT arrIds[4] = {AFX_IDW_DOCKBAR_TOP, AFX_IDW_DOCKBAR_BOTTOM, AFX_IDW_DOCKBAR_LEFT,
                                   AFX_IDW_DOCKBAR_RIGHT};
    for (int i = 0; i < 4; i++)
        if (!InstallOuterDockBar(arrIds[i], dwDockStyle, pFrame))
            return false;
    if (bToolkitFloatingFrames)
        SetFrameFloatingClass(pFrame);
    return true;
}

bool CExtControlBar::InstallOuterDockBar(UINT nDockBarID, DWORD dwDockStyle, CFrameWnd* pFrame)
{
    if (pFrame == NULL)
        return false;
    DWORD dwBarStyle = 0;
    for (int i = 0; i < 4; i++)
        if (CFrameWnd::dwDockBarMap[i][0] == nDockBarID)
            dwBarStyle = CFrameWnd::dwDockBarMap[i][1];
    if ((dwBarStyle & dwDockStyle & CBRS_ALIGN_ANY) == 0)
        return false;
    CControlBar* pOld = pFrame->GetControlBar(nDockBarID);
    if (pOld != NULL && pOld->IsKindOf(RUNTIME_CLASS(CExtDockOuterBar)))
        return true;
    if (pOld != NULL)
    {
        POSITION pos = pFrame->m_listControlBars.Find(pOld);
        if (pos != NULL)
            pFrame->m_listControlBars.RemoveAt(pos);
        pOld->m_pDockSite = NULL;
        const BOOL bAutoDelete = pOld->m_bAutoDelete;
        pOld->DestroyWindow();
        if (!bAutoDelete)
            delete pOld;
    }
    CExtDockOuterBar* pNew = new CExtDockOuterBar;
    if (!pNew->Create(pFrame, dwBarStyle | WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, nDockBarID))
    {
        delete pNew;
        return false;
    }
    return true;
}

namespace {

const UINT ID_ADD_REMOVE_BUTTONS = 0x75EC;
const UINT ID_RESET_TOOLBAR = 0x7605;

CExtCustomizeSite* CustomizeSiteOfToolBar(CExtToolControlBar* pBar)
{
    CExtCustomizeSite* pSite = pBar->GetCustomizeSite();
    return pSite != NULL ? pSite : CExtCustomizeSite::GetCustomizeSite(pBar->GetSafeHwnd());
}

// A separator and the reset command that names the bar through its item data.
void AppendResetCommand(CExtPopupMenuWnd* pPopup, CExtToolControlBar* pBar)
{
    pPopup->ItemInsert(CExtPopupMenuWnd::TYPE_SEPARATOR);
    if (pPopup->ItemInsert(ID_RESET_TOOLBAR))
        pPopup->ItemGetInfo(pPopup->ItemGetCount() - 1).m_dwUserValue = (DWORD)(DWORD_PTR)pBar;
}

// A sub-menu named after the toolbar, filled with its buttons as check items (and the
// reset command when asked); NULL when it could not be made.
CExtPopupMenuWnd* AppendToolBarSubMenu(CExtPopupMenuWnd* pPopup, CExtToolControlBar* pBar, bool bReset)
{
    CString sCaption;
    pBar->GetBarCaption(sCaption);
    const int nPos = pPopup->ItemGetCount();
    if (!pPopup->ItemInsert(CExtPopupMenuWnd::TYPE_POPUP, nPos, sCaption))
        return NULL;
    CExtPopupMenuWnd* pSub = pPopup->ItemGetPopup(nPos);
    if (pSub == NULL)
        return NULL;
    pBar->BuildVisibilityMenu(pSub);
    if (bReset)
        AppendResetCommand(pSub, pBar);
    return pSub;
}

}  // namespace

bool CExtDockBar::AppendToolbarCustomizeMenu(CExtPopupMenuWnd* pPopup, CExtControlBar* pBar)
{
    CExtToolControlBar* pToolBar = DYNAMIC_DOWNCAST(CExtToolControlBar, pBar);
    if (pPopup == NULL || pToolBar == NULL || pToolBar->GetSafeHwnd() == NULL)
        return false;
    CExtCustomizeSite* pSite = CustomizeSiteOfToolBar(pToolBar);
    if (pSite == NULL || !pSite->IsToolBarCustomizable(pToolBar))
        return false;
    const HWND hWndCmd = pPopup->GetCmdReceiverHWND() != NULL ? pPopup->GetCmdReceiverHWND() : pToolBar->GetSafeHwnd();
    CExtCmdItem* pCmd = pSite->OnCmdPrepare(hWndCmd, ID_ADD_REMOVE_BUTTONS);
    pSite->OnToolBarPrepare(pToolBar);
    pSite->OnCmdPrepare(hWndCmd, ID_RESET_TOOLBAR);

    // The toolbars offered: a floating bar alone, a docked one with the customizable
    // toolbars of its row.
    CArray<CExtToolControlBar*, CExtToolControlBar*> arrBars;
    if (pToolBar->IsFloating())
        arrBars.Add(pToolBar);
    else
    {
        CArray<CExtControlBar*, CExtControlBar*> arrRow;
        pToolBar->GetRowExtBars(arrRow, true);
        for (INT_PTR i = 0; i < arrRow.GetSize(); i++)
        {
            CExtToolControlBar* pRowBar = DYNAMIC_DOWNCAST(CExtToolControlBar, arrRow[i]);
            if (pRowBar == NULL || pRowBar->GetSafeHwnd() == NULL)
                continue;
            if (pRowBar != pToolBar && (CustomizeSiteOfToolBar(pRowBar) != pSite || !pSite->IsToolBarCustomizable(pRowBar)))
                continue;
            if (pRowBar != pToolBar)
                pSite->OnToolBarPrepare(pRowBar);
            arrBars.Add(pRowBar);
        }
        if (arrBars.GetSize() == 0)
            arrBars.Add(pToolBar);
    }

    CString sText = pCmd != NULL ? pCmd->m_sMenuText : CString();
    if (sText.IsEmpty())
        sText = _T("&Add/remove buttons");
    const int nPos = pPopup->ItemGetCount();
    if (!pPopup->ItemInsert(CExtPopupMenuWnd::TYPE_POPUP, nPos, sText))
        return false;
    CExtPopupMenuWnd* pSub = pPopup->ItemGetPopup(nPos);
    if (pSub == NULL)
        return false;
    const bool bSingle = arrBars.GetSize() == 1;
    for (INT_PTR i = 0; i < arrBars.GetSize(); i++)
        AppendToolBarSubMenu(pSub, arrBars[i], !bSingle);
    if (bSingle)
        AppendResetCommand(pSub, pToolBar);
    return true;
}
