// The tab strip of a tabbed group: each tab stands for a page, takes its text and icon
// from the page, turns the group to it, floats it on a double click and hands a drag of
// it to the page's own drag loop.
#include "toolkit/bars/dyn_tab_wnd.h"
#include "framework/afxres.h"
#include "toolkit/bars/dyn_tab_control_bar.h"
#include "toolkit/core/cmd_manager.h"
#include "toolkit/menus/popup_menu_wnd.h"

IMPLEMENT_DYNAMIC(CExtDynTabWnd, CExtTabWnd)

BEGIN_MESSAGE_MAP(CExtDynTabWnd, CExtTabWnd)
    ON_WM_CREATE()
    ON_WM_DESTROY()
    ON_WM_LBUTTONDBLCLK()
    ON_WM_RBUTTONDOWN()
    ON_WM_RBUTTONUP()
    ON_WM_CONTEXTMENU()
END_MESSAGE_MAP()

CExtDynTabWnd::CExtDynTabWnd() : m_dwReserved(DWORD(-1)) { m_oleDropTarget.m_pWndTab = this; }

CExtDynTabWnd::~CExtDynTabWnd() { m_oleDropTarget.Revoke(); }

CExtDynTabControlBar* CExtDynTabWnd::GetContainer() const
{
    return m_hWnd != NULL ? DYNAMIC_DOWNCAST(CExtDynTabControlBar, GetParent()) : NULL;
}

CExtControlBar* CExtDynTabWnd::GetItemBar(int nIndex, bool bSkipPreview) const
{
    const TAB_ITEM_INFO* pTii = ItemGet(nIndex);
    if (pTii == NULL || (bSkipPreview && (pTii->GetItemStyle() & __EDTI_PREVIEW) != 0))
        return NULL;
    return reinterpret_cast<CExtControlBar*>(pTii->LParamGet());
}

int CExtDynTabWnd::SelectBar(CExtControlBar* pBar)
{
    const int nIndex = ItemFindByLParam((LPARAM)pBar, -1, true, true);
    if (nIndex < 0)
        return -1;
    ItemGet(nIndex)->VisibleSet(true);
    SelectionSet(nIndex, true, true);
    if (pBar->m_hWnd != NULL && CExtControlBar::QueryFocusChangingEnabled(pBar, pBar->m_hWnd))
        pBar->SetFocus();
    return nIndex;
}

void CExtDynTabWnd::InsertBar(CExtControlBar* pBar, int nPos, bool bPreview, bool bUpdate)
{
    if (pBar == NULL || m_hWnd == NULL)
        return;
    if (!bPreview && ItemFindByLParam((LPARAM)pBar, -1, true, true) >= 0)
    {
        UpdateTabWnd(bUpdate);
        return;
    }
    if (nPos < 0 || nPos > ItemGetCount())
        nPos = -1;
    DWORD dwStyle = bPreview ? DWORD(__EDTI_PREVIEW) : 0;
    if (pBar->m_hWnd == NULL || (pBar->GetStyle() & WS_VISIBLE) == 0 || !pBar->IsTabShown())
        dwStyle |= __EDTI_INVISIBLE;
    if (bPreview)
        dwStyle &= ~DWORD(__EDTI_INVISIBLE);  // a dragged bar is hidden or floating, yet its tab shows
    LPCTSTR sProfile = g_CommandManager->ProfileNameFromWnd(m_hWnd);
    const UINT nCmdID = pBar->m_hWnd != NULL ? UINT(WORD(pBar->GetDlgCtrlID())) : 0;
    CExtCmdIcon* pIcon = sProfile != NULL ? g_CommandManager->CmdGetIconPtr(sProfile, nCmdID) : NULL;
    if (pIcon == NULL || pIcon->IsEmpty())
        dwStyle |= __EDTI_NO_ICON;
    ItemInsert(NULL, (HICON)NULL, dwStyle, nPos, (LPARAM)pBar, bUpdate);
}

void CExtDynTabWnd::RemovePreviewItems(bool bUpdate)
{
    if (m_hWnd == NULL)
        return;
    CExtDynTabControlBar* pGroup = GetContainer();
    for (int i = ItemGetCount() - 1; i >= 0; i--)
    {
        TAB_ITEM_INFO* pTii = ItemGet(i);
        if ((pTii->GetItemStyle() & __EDTI_PREVIEW) == 0)
            continue;
        // The dragged page's own tab only stands for a preview while it is dragged.
        CExtControlBar* pBar = reinterpret_cast<CExtControlBar*>(pTii->LParamGet());
        const bool bOwnPage = pGroup != NULL && pBar != NULL && pBar->m_pDockBar == pGroup->m_pWndDynDocker &&
                              ItemFindByLParam((LPARAM)pBar, -1, true, true) == i &&
                              ItemFindByLParam((LPARAM)pBar, i + 1, true, true) < 0;
        if (!bOwnPage)
            ItemRemove(i, 1, false);
    }
    UpdateTabWnd(bUpdate);
}

void CExtDynTabWnd::ClearPreviewMarks(bool bUpdate)
{
    for (int i = 0; i < ItemGetCount(); i++)
        ItemGet(i)->ModifyItemStyle(__EDTI_PREVIEW, 0);
    if (m_hWnd != NULL)
        UpdateTabWnd(bUpdate);
}

int CExtDynTabWnd::HitTestScreen(POINT ptScreen) const
{
    if (m_hWnd == NULL)
        return -1;
    POINT pt = ptScreen;
    ::ScreenToClient(m_hWnd, &pt);
    const int n = ItemHitTest(pt);
    return n >= 0 ? n : -1;
}

// ---- notifications ---------------------------------------------------------------------------

bool CExtDynTabWnd::OnTabWndClickedItem(int nItem, bool bButtonPressed, int nMouseButton, UINT nMouseEventFlags)
{
    if (nMouseButton != 1)
        return false;
    return CExtTabWnd::OnTabWndClickedItem(nItem, bButtonPressed, nMouseButton, nMouseEventFlags);
}

bool CExtDynTabWnd::OnTabWndSelectionChange(int nOldItem, int nNewItem, bool bPreSelectionTest)
{
    CExtDynTabControlBar* pGroup = GetContainer();
    if (pGroup != NULL && !pGroup->OnTabSelectionChange(nOldItem, nNewItem, bPreSelectionTest))
        return false;
    if (!CExtTabWnd::OnTabWndSelectionChange(nOldItem, nNewItem, bPreSelectionTest))
        return false;
    if (bPreSelectionTest || pGroup == NULL || nNewItem == nOldItem)
        return true;
    CExtControlBar* pPage = GetItemBar(nNewItem, false);
    if (pPage == NULL || pPage->m_hWnd == NULL || !::IsWindow(pPage->m_hWnd))
        return true;
    CExtDockBar* pDock = DYNAMIC_DOWNCAST(CExtDockBar, pPage->m_pDockBar);
    const bool bLocked = pDock != NULL && pDock->SetLayoutLock(true);
    pPage->SetWindowPos(&CWnd::wndTop, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
    if (CExtControlBar::QueryFocusChangingEnabled(pPage, pPage->m_hWnd))
        pPage->SetFocus();
    if (bLocked && pDock->m_hWnd != NULL)
        pDock->SetLayoutLock(false);
    pGroup->RecalcNcFrame();
    if (pGroup->m_pWndDynDocker != NULL && pGroup->m_pWndDynDocker->m_hWnd != NULL)
        static_cast<CExtDockDynTabBar*>(pGroup->m_pWndDynDocker)->StackPages(NULL, true);
    CString sText;
    pPage->GetWindowText(sText);
    pGroup->SetWindowText(sText);
    if (pGroup->m_pDockBar != NULL && pGroup->m_pDockBar->m_hWnd != NULL)
        pGroup->m_pDockBar->SetWindowText(sText);
    CFrameWnd* pFrame = pGroup->GetParentFrame();
    if (pFrame != NULL && pFrame->IsKindOf(RUNTIME_CLASS(CMiniDockFrameWnd)))
        pFrame->SendMessage(WM_NCPAINT);
    pGroup->OnTabSelectionChange(nOldItem, nNewItem, false);
    return true;
}

CExtCmdIcon* CExtDynTabWnd::OnTabWndQueryItemIcon(const TAB_ITEM_INFO* pTii) const
{
    CExtControlBar* pBar = pTii != NULL ? reinterpret_cast<CExtControlBar*>(pTii->LParamGet()) : NULL;
    if (pBar == NULL || pBar->m_hWnd == NULL || m_hWnd == NULL)
        return NULL;
    LPCTSTR sProfile = g_CommandManager->ProfileNameFromWnd(m_hWnd);
    if (sProfile == NULL)
        return NULL;
    return g_CommandManager->CmdGetIconPtr(sProfile, UINT(WORD(pBar->GetDlgCtrlID())));
}

LPCTSTR CExtDynTabWnd::OnTabWndQueryItemText(const TAB_ITEM_INFO* pTii) const
{
    static CString g_sItemText;
    g_sItemText.Empty();
    CExtControlBar* pBar = pTii != NULL ? reinterpret_cast<CExtControlBar*>(pTii->LParamGet()) : NULL;
    if (pBar != NULL && pBar->m_hWnd != NULL)
        pBar->OnGetBarCaptionText(4, g_sItemText);
    return g_sItemText;
}

void CExtDynTabWnd::OnTabWndDrawItem(CDC& dc, const RECT& rcTabItemsArea, int nItemIndex, TAB_ITEM_INFO* pTii,
                                     bool bTopLeft, bool bHorz, bool bSelected, bool bCenteredText,
                                     bool bGroupedMode, bool bInGroupActive, bool bInvertedVerticalMode,
                                     const RECT& rcEntireItem, CSize sizeTextMeasured, CFont* pFont, LPCTSTR sText,
                                     CExtCmdIcon* pIcon)
{
    if (ItemFindByStyle(__EDTI_PREVIEW) >= 0 && pTii != NULL)
    {
        // While a preview shows, only the preview run looks selected (once per run).
        const bool bPreview = (pTii->GetItemStyle() & __EDTI_PREVIEW) != 0;
        const TAB_ITEM_INFO* pPrev = ItemGet(nItemIndex - 1);
        bSelected = bPreview && (pPrev == NULL || (pPrev->GetItemStyle() & __EDTI_PREVIEW) == 0);
    }
    CExtTabWnd::OnTabWndDrawItem(dc, rcTabItemsArea, nItemIndex, pTii, bTopLeft, bHorz, bSelected, bCenteredText,
                                 bGroupedMode, bInGroupActive, bInvertedVerticalMode, rcEntireItem, sizeTextMeasured,
                                 pFont, sText, pIcon);
}

bool CExtDynTabWnd::OnTabWndCanDragItem(int nIndex) { return GetItemBar(nIndex, true) != NULL; }

bool CExtDynTabWnd::OnTabWndStartPushedTracking(int nMouseButton, int nHitTest)
{
    // The press takes over the capture that hovering holds. Wine tells a window that
    // captures the mouse again of the change, and the strip would take that for the end
    // of hovering and cancel the press with it; so hovering ends first, keeping capture.
    OnTabWndStopHoverTracking(false);
    return CExtTabWnd::OnTabWndStartPushedTracking(nMouseButton, nHitTest);
}

void CExtDynTabWnd::ItemDragLoop(int nIndex)
{
    CExtControlBar* pBar = GetItemBar(nIndex, true);
    POINT ptCursor;
    if (pBar == NULL || !::GetCursorPos(&ptCursor))
        return;
    const HWND hWndOwn = m_hWnd;
    OnTabWndStopPushedTracking(true);
    OnTabWndStopHoverTracking(true);
    if (::GetCapture() == m_hWnd)
        ::ReleaseCapture();
    // Letting the capture go makes the system post the strip a mouse move; the page's loop
    // would take that for a click elsewhere and end before the drag began.
    MSG msg;
    while (::PeekMessage(&msg, m_hWnd, WM_MOUSEMOVE, WM_MOUSEMOVE, PM_REMOVE))
    {
    }
    ItemGet(nIndex)->ModifyItemStyle(0, __EDTI_PREVIEW);
    pBar->DragLoop(ptCursor, CSize(0, 0), 1, 1);
    // The loop may have destroyed the strip with its group.
    if (LiveWindowObject(hWndOwn) == this)
        ClearPreviewMarks(true);
}

// ---- keyboard --------------------------------------------------------------------------------

int CExtDynTabWnd::FindSwitchTarget(int nStep) const
{
    const int nCount = ItemGetCount();
    const int nSel = SelectionGet();
    if (nCount == 0 || nSel < 0)
        return -1;
    for (int n = (nSel + nStep + nCount) % nCount; n != nSel; n = (n + nStep + nCount) % nCount)
    {
        const TAB_ITEM_INFO* pTii = ItemGet(n);
        if (!pTii->VisibleGet() || (pTii->GetItemStyle() & __EDTI_PREVIEW) != 0)
            continue;
        CExtControlBar* pBar = reinterpret_cast<CExtControlBar*>(pTii->LParamGet());
        if (pBar != NULL && pBar->m_hWnd != NULL && (pBar->GetStyle() & WS_VISIBLE) != 0)
            return n;
    }
    return -1;
}

bool CExtDynTabWnd::ProcessKeyboardSwitch(const MSG* pMsg)
{
    if (!CExtControlBar::g_bTabbedKeyboardSwitch || pMsg == NULL || pMsg->message != WM_KEYDOWN ||
        (pMsg->wParam != VK_PRIOR && pMsg->wParam != VK_NEXT))
        return false;
    if (::GetKeyState(VK_CONTROL) >= 0 || ::GetKeyState(VK_SHIFT) < 0 || ::GetKeyState(VK_MENU) < 0)
        return false;
    if (m_hWnd == NULL || ItemGetCount() == 0 || SelectionGet() < 0)
        return false;
    const int nTarget = FindSwitchTarget(pMsg->wParam == VK_PRIOR ? -1 : 1);
    if (nTarget >= 0)
    {
        CWnd::CancelToolTips();
        SelectionSet(nTarget, true, true);
    }
    return true;
}

BOOL CExtDynTabWnd::PreTranslateMessage(MSG* pMsg)
{
    if (ProcessKeyboardSwitch(pMsg))
        return TRUE;
    return CExtTabWnd::PreTranslateMessage(pMsg);
}

// ---- messages ---------------------------------------------------------------------------------

int CExtDynTabWnd::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CExtTabWnd::OnCreate(lpCreateStruct) == -1)
        return -1;
    // Registration fails harmlessly where OLE is not initialised.
    if (CExtControlBar::g_bTabbedOleDragOver)
        m_oleDropTarget.Register(this);
    return 0;
}

void CExtDynTabWnd::OnDestroy()
{
    m_oleDropTarget.Revoke();
    CExtTabWnd::OnDestroy();
}

void CExtDynTabWnd::OnLButtonDblClk(UINT, CPoint point)
{
    const int nIndex = ItemHitTest(point);
    CExtControlBar* pBar = GetItemBar(nIndex, true);
    if (pBar == NULL || pBar->m_hWnd == NULL)
        return;
    pBar->FloatControlBar(pBar->m_ptFloatPos.x, pBar->m_ptFloatPos.y, CBRS_ALIGN_TOP);
}

void CExtDynTabWnd::OnRButtonDown(UINT, CPoint) {}

void CExtDynTabWnd::OnRButtonUp(UINT, CPoint) {}

void CExtDynTabWnd::OnContextMenu(CWnd*, CPoint point)
{
    CExtDynTabControlBar* pGroup = GetContainer();
    if (pGroup == NULL || CExtControlBar::g_bLockAllBars || CExtControlBar::IsFrameInHelpMode(this))
        return;
    CFrameWnd* pSite = pGroup->m_pDockSite;
    CWnd* pSiteWnd = pSite != NULL ? static_cast<CWnd*>(pSite) : GetParentFrame();
    if (pSiteWnd == NULL || pSiteWnd->m_hWnd == NULL)
        return;
    CExtCustomizeSite* pCustomize = CExtCustomizeSite::GetCustomizeSite(pSiteWnd->m_hWnd);
    if (pCustomize != NULL && pCustomize->IsCustomizeMode())
        return;
    const HWND hWndOwn = m_hWnd;
    CExtPopupMenuWnd* pPopup = new CExtPopupMenuWnd;
    if (!pPopup->CreatePopupMenu(pSiteWnd->m_hWnd))
    {
        delete pPopup;
        return;
    }
    CExtControlBar::POPUP_MENU_EVENT_DATA _pmed(9, pPopup, this, point, WM_CONTEXTMENU, NULL);
    if (!_pmed.NotifyTarget(false) && ::IsWindow(hWndOwn))
    {
        CArray<CExtControlBar*, CExtControlBar*> arrPages;
        pGroup->GetPages(arrPages);
        for (INT_PTR i = 0; i < arrPages.GetSize(); i++)
            if ((arrPages[i]->m_nOptionFlags & CExtControlBar::__ESF_IN_BARS_MENU) != 0 && arrPages[i]->m_hWnd != NULL)
                pPopup->ItemInsert(UINT(WORD(arrPages[i]->GetDlgCtrlID())));
    }
    _pmed.NotifyTarget(true);
    // The frame's handlers may have taken the group (and this strip) away meanwhile.
    if (pPopup->ItemGetCount() == 0 || !::IsWindow(hWndOwn) || !::IsWindow(pSiteWnd->m_hWnd))
    {
        delete pPopup;
        return;
    }
    if (CExtControlBar::QueryFocusChangingEnabled(pGroup, pSiteWnd->m_hWnd))
        pSiteWnd->SetFocus();
    if (!pPopup->TrackPopupMenu(CExtPopupMenuWnd::TMF_OWNER_DRAW, _pmed.m_ptScreen.x, _pmed.m_ptScreen.y, NULL, this,
                                NULL, NULL, false))
        delete pPopup;
}

// ---- OLE drag over ------------------------------------------------------------------------------

void CExtDynTabWnd::OnDragOverItem(CPoint ptClient)
{
    CFrameWnd* pFrame = GetParentFrame();
    CExtCustomizeSite* pCustomize =
        pFrame != NULL ? CExtCustomizeSite::GetCustomizeSite(pFrame->m_hWnd) : NULL;
    if (pCustomize != NULL && pCustomize->IsCustomizeMode())
        return;
    const int nIndex = ItemHitTest(ptClient);
    CExtControlBar* pBar = GetItemBar(nIndex, true);
    if (pBar == NULL)
        return;
    const int nDelay = int(pBar->QueryDelayValue());
    if (nDelay < 0)
        return;
    if (nDelay == 0)
    {
        if (SelectionGet() != nIndex)
            SelectionSet(nIndex, true, true);
        return;
    }
    if (SelectionDelayGet() != nIndex && SelectionGet() != nIndex)
        SelectionDelay(nIndex, UINT(nDelay));
}

DROPEFFECT CExtDynTabWnd::CDynDropTarget::OnDragEnter(CWnd* pWnd, COleDataObject* pDataObject, DWORD dwKeyState,
                                                      CPoint point)
{
    return OnDragOver(pWnd, pDataObject, dwKeyState, point);
}

DROPEFFECT CExtDynTabWnd::CDynDropTarget::OnDragOver(CWnd*, COleDataObject*, DWORD, CPoint point)
{
    if (m_pWndTab != NULL && m_pWndTab->m_hWnd != NULL)
        m_pWndTab->OnDragOverItem(point);
    return DROPEFFECT_NONE;
}
