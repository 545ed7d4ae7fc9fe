// The dynamic bar: its four states (floating, docked, document, auto-hidden), the move
// of its content window into and out of the site's document form, its state archive and
// its window procedure. The caption buttons and the options menu are in
// dynamic_bar_menu.cpp, the site and the document frame in dynamic_bar_site.cpp.
#include "toolkit/bars/dynamic_bar.h"
#include "framework/archive.h"
#include "framework/dockbar.h"
#include "framework/exceptions.h"
#include "toolkit/bars/auto_hide.h"
#include "toolkit/bars/dyn_tab_control_bar.h"
#include "toolkit/core/resource_manager.h"
#include "toolkit/dialogs/tab_page_container.h"
#include "toolkit/menus/popup_menu_wnd.h"

IMPLEMENT_DYNCREATE(CExtDynamicControlBar, CExtControlBar)

CExtDynamicControlBar::CExtDynamicControlBar()
    : m_pBarSite(NULL), m_nDynFlags(0), m_nMdiMenuResourceID(0), m_nMdiAccelTableResourceID(0),
      m_dwHiddenFlags(0), m_eBarState(__EDBS_DOCKED), m_hWndContent(NULL), m_eLastRequestedState(__EDBS_DOCKED),
      m_bLastShowFlag(false)
{
}

CExtDynamicControlBar::~CExtDynamicControlBar()
{
    // The dock context goes before the members it may still reach through the bar.
    if (m_pDockContext != NULL)
    {
        delete m_pDockContext;
        m_pDockContext = NULL;
    }
}

CExtDynamicBarSite* CExtDynamicControlBar::GetBarSite()
{
    if (m_pBarSite == NULL)
        m_pBarSite = CExtDynamicBarSite::FindBarSiteByWnd(this);
    return m_pBarSite;
}

HWND CExtDynamicControlBar::GetContentWindow()
{
    if (m_hWndContent != NULL && ::IsWindow(m_hWndContent))
        return m_hWndContent;
    m_hWndContent = (m_hWnd != NULL) ? ::GetWindow(m_hWnd, GW_CHILD) : NULL;
    return m_hWndContent;
}

// ---- overrides --------------------------------------------------------------------------

void CExtDynamicControlBar::OnBarStateSerialized(bool bStoring)
{
    if (bStoring)
        return;
    GetContentWindow();
    bool bVisible = false;
    if (GetBarState(&bVisible) == __EDBS_DOCUMENT && bVisible)
        EnterDocumentMode();
}

bool CExtDynamicControlBar::OnQueryTabMate(const CExtControlBar* pBar) const
{
    if (m_eBarState != __EDBS_DOCKED)
        return false;
    const CExtDynamicControlBar* pDynamic = DYNAMIC_DOWNCAST(CExtDynamicControlBar, const_cast<CExtControlBar*>(pBar));
    return pDynamic == NULL || pDynamic->m_eBarState == __EDBS_DOCKED;
}

void CExtDynamicControlBar::DragUpdate(const POINT& ptScreen, bool bNoDocking)
{
    CExtControlBar::DragUpdate(ptScreen, GetBarState(NULL) == __EDBS_FLOATING ? true : bNoDocking);
}

bool CExtDynamicControlBar::OnQueryTabShown() const { return m_eBarState != __EDBS_DOCUMENT; }

int CExtDynamicControlBar::OnGetBarCaptionText(int nType, CString& sText) const
{
    if (m_strCaptionText.IsEmpty())
        return CExtControlBar::OnGetBarCaptionText(nType, sText);
    sText = m_strCaptionText;
    return sText.GetLength();
}

void CExtDynamicControlBar::CreateNcAreaButtons()
{
    if (m_vNcAreaButtons.GetSize() > 0)
        return;
    m_vNcAreaButtons.Add(new CExtDynamicBarNcAreaButtonClose(this));
    m_vNcAreaButtons.Add(new CExtDynamicBarNcAreaButtonAutoHide(this));
    m_vNcAreaButtons.Add(new CExtDynamicBarNcAreaButtonMenu(this));
}

void CExtDynamicControlBar::OnPaintManagerInstalled(CExtPaintManager* pPM)
{
    m_icon.DropGeneratedStateImages();
    CExtControlBar::OnPaintManagerInstalled(pPM);
}

// ---- state --------------------------------------------------------------------------------

CExtDynamicControlBar::eDynamicBarState_t CExtDynamicControlBar::GetBarState(bool* pbVisible) const
{
    const eDynamicBarState_t eState = eDynamicBarState_t(m_eBarState);
    if (pbVisible == NULL)
        return eState;
    if (eState != __EDBS_AUTO_HIDDEN)
    {
        *pbVisible = (m_dwHiddenFlags & 1) == 0;
        return eState;
    }
    // Auto-hidden, the bar shows only while it is slid out: its content then sits in
    // the slider and the bar window has no child.
    *pbVisible = m_hWnd != NULL && ::GetWindow(m_hWnd, GW_CHILD) == NULL && AutoHideModeGet() &&
                 GetAutoHideSliderShowingBar() != NULL &&
                 (GetAutoHideSliderShowingBar()->GetStyle() & WS_VISIBLE) != 0;
    return eState;
}

bool CExtDynamicControlBar::SetBarState(DWORD dwState, bool bShow)
{
    m_bLastShowFlag = bShow;
    m_eLastRequestedState = dwState;
    if (dwState == __EDBS_AUTO_HIDDEN && !bShow)
        dwState = __EDBS_DOCKED;  // a hidden pinned bar is a hidden docked bar
    CFrameWnd* pSite = m_pDockSite;
    switch (dwState)
    {
    case __EDBS_FLOATING:
        m_nOptionFlags |= __ESF_IN_BARS_MENU;
        if (AutoHideModeGet())
            AutoHideModeSet(false, false, false, true);
        LeaveDocumentMode();
        if (!IsFloating() && pSite != NULL && pSite->GetSafeHwnd() != NULL)
            FloatControlBar(m_ptFloatPos.x, m_ptFloatPos.y, CBRS_ALIGN_TOP);
        if (pSite != NULL && pSite->GetSafeHwnd() != NULL)
            pSite->ShowControlBar(this, bShow ? TRUE : FALSE, FALSE);
        break;
    case __EDBS_DOCKED:
        LeaveDocumentMode();
        m_nOptionFlags |= __ESF_IN_BARS_MENU;
        if (AutoHideModeGet())
        {
            AutoHideModeSet(false, false, true, true);
            if (bShow)
                ToggleVisibility(false);
        }
        else
        {
            if (bShow)
                m_eBarState = __EDBS_DOCKED;
            // Docked means docked: a floating bar goes back to the side it last left.
            if (bShow && IsFloating() && pSite != NULL && pSite->GetSafeHwnd() != NULL)
            {
                UINT nSide = (m_pDockContext != NULL) ? m_pDockContext->m_uMRUDockID : 0;
                if (nSide < AFX_IDW_DOCKBAR_TOP || nSide > AFX_IDW_DOCKBAR_BOTTOM)
                    nSide = AFX_IDW_DOCKBAR_LEFT;
                DockAtFrameSide(nSide, false, pSite, true);
            }
            if (bShow != IsVisible())
            {
                ToggleVisibility(true);
                CFrameWnd* pParentFrame = GetParentFrame();
                if (pParentFrame != NULL)
                    pParentFrame->RecalcLayout();
            }
        }
        break;
    case __EDBS_DOCUMENT:
        if (GetContentWindow() == NULL)
            return false;
        m_nOptionFlags &= BYTE(~__ESF_IN_BARS_MENU);
        if (AutoHideModeGet())
            AutoHideModeSet(false, false, false, true);
        else if (IsVisible())
            ToggleVisibility(true);
        if (bShow)
            EnterDocumentMode();
        else
            LeaveDocumentMode();
        break;
    case __EDBS_AUTO_HIDDEN:
        m_nOptionFlags |= __ESF_IN_BARS_MENU;
        if (AutoHideModeGet())
            break;
        LeaveDocumentMode();
        if (IsFloating() || GetParentFrame() != pSite)
            DockAtFrameSide(AFX_IDW_DOCKBAR_LEFT, false, pSite, false);
        AutoHideModeSet(true, false, true, false);
        break;
    default:
        break;
    }
    m_eBarState = dwState;
    m_dwHiddenFlags = bShow ? (m_dwHiddenFlags & ~DWORD(1)) : (m_dwHiddenFlags | 1);
    if (dwState == __EDBS_DOCKED || dwState == __EDBS_AUTO_HIDDEN)
        ApplyStateToTabGroup(dwState);
    return true;
}

// A tabbed group always shares one state among its dynamic pages.
void CExtDynamicControlBar::ApplyStateToTabGroup(DWORD dwState)
{
    CExtDockDynTabBar* pTabDock = DYNAMIC_DOWNCAST(CExtDockDynTabBar, GetParent());
    CExtDynTabControlBar* pGroup = pTabDock != NULL ? pTabDock->GetTabContainer() : NULL;
    if (pGroup == NULL)
        return;
    CArray<CExtControlBar*, CExtControlBar*> arrPages;
    pGroup->GetPages(arrPages);
    for (INT_PTR i = 0; i < arrPages.GetSize(); i++)
    {
        CExtDynamicControlBar* pPage = DYNAMIC_DOWNCAST(CExtDynamicControlBar, arrPages[i]);
        if (pPage != NULL)
            pPage->m_eBarState = dwState;
    }
}

// ---- the document form ----------------------------------------------------------------------

void CExtDynamicControlBar::EnterDocumentMode()
{
    HWND hWndContent = GetContentWindow();
    if (hWndContent == NULL || m_hWnd == NULL)
        return;
    if (::GetParent(hWndContent) != m_hWnd)
    {
        CExtDynamicMDIChildWnd* pDocFrame =
            DYNAMIC_DOWNCAST(CExtDynamicMDIChildWnd, CWnd::FromHandlePermanent(::GetParent(hWndContent)));
        if (pDocFrame != NULL)
        {
            CMDIFrameWnd* pMdiFrame = pDocFrame->GetMDIFrame();
            if (pMdiFrame != NULL && pMdiFrame->MDIGetActive() != pDocFrame)
                pDocFrame->MDIActivate();
        }
        return;
    }
    CExtDynamicBarSite* pSite = GetBarSite();
    if (pSite == NULL || pSite->GetDetectedUiType() == CExtDynamicBarSite::__EDUIT_NOT_SUPPORTED)
        return;
    CString sTitle;
    OnGetBarCaptionText(7, sTitle);
    if (pSite->GetDetectedUiType() == CExtDynamicBarSite::__EDUIT_TAB_PAGE_CONTAINER)
        EnterDocumentTabPage(hWndContent, pSite, sTitle);
    else if (pSite->GetDetectedUiType() == CExtDynamicBarSite::__EDUIT_MDI_STANDARD ||
             pSite->GetDetectedUiType() == CExtDynamicBarSite::__EDUIT_MDI_WITH_TABS)
        EnterDocumentMdiChild(hWndContent, pSite, sTitle);
}

void CExtDynamicControlBar::EnterDocumentTabPage(HWND hWndContent, CExtDynamicBarSite* pSite, const CString& sTitle)
{
    CExtTabPageContainerWnd* pContainer = pSite->GetTabPageContainer();
    if (pContainer == NULL || pContainer->GetSafeHwnd() == NULL)
        return;
    ::ShowWindow(hWndContent, SW_HIDE);
    ::SetParent(hWndContent, pContainer->m_hWnd);
    CRect rcClient, rcPage;
    pContainer->GetClientRect(&rcClient);
    CExtControlBar::RepositionBarsEx(pContainer, 0, 0xFFFF, 0x101, 1, &rcPage, &rcClient, TRUE);
    ::SetWindowPos(hWndContent, HWND_BOTTOM, rcPage.left, rcPage.top, rcPage.Width(), rcPage.Height(),
                   SWP_NOACTIVATE | SWP_NOCOPYBITS);
    HICON hIcon = m_icon.IsEmpty() ? NULL : m_icon.ExtractHICON();
    CExtTabPageContainerOneNoteWnd* pOneNote = DYNAMIC_DOWNCAST(CExtTabPageContainerOneNoteWnd, pContainer);
    if (pOneNote != NULL)
        pOneNote->PageInsert(hWndContent, hIcon, sTitle, -1, true, COLORREF(-1L), COLORREF(-1L));
    else
        pContainer->PageInsert(hWndContent, hIcon, sTitle, -1, true);
    if (pContainer->TabWndStyleBit0x10Get())
        pContainer->TabWndStyleBit0x200Set(true);
}

void CExtDynamicControlBar::EnterDocumentMdiChild(HWND hWndContent, CExtDynamicBarSite* pSite, const CString& sTitle)
{
    bool bMaximized = false;
    CMDIChildWnd* pActive = NULL;
    pSite->GetActiveMdiChild(&bMaximized, &pActive);
    CExtDynamicMDIChildWnd* pDocFrame = CreateDocumentFrame();
    if (pDocFrame == NULL)
        return;
    pDocFrame->m_hWndBar = m_hWnd;
    pDocFrame->m_hWndContent = hWndContent;
    if (!m_icon.IsEmpty())
        pDocFrame->m_icon = m_icon;
    CMDIFrameWnd* pMdiFrame = DYNAMIC_DOWNCAST(CMDIFrameWnd, pSite->GetDockSite());
    LPCTSTR sClass = AfxRegisterWndClass(CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS, ::LoadCursor(NULL, IDC_ARROW));
    DWORD dwStyle = WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW;
    if (bMaximized)
        dwStyle |= WS_MAXIMIZE;
    if (pMdiFrame == NULL || !pDocFrame->Create(sClass, sTitle, dwStyle, CFrameWnd::rectDefault, pMdiFrame))
    {
        delete pDocFrame;
        return;
    }
    pDocFrame->SetTitle(sTitle);
    pDocFrame->m_nIdleFlags |= CFrameWnd::idleTitle;
    HMENU hMenu = NULL;
    HACCEL hAccel = NULL;
    if (m_nMdiMenuResourceID != 0)
    {
        CMenu menu;
        if (g_CurrentResourceManager->LoadMenu(menu, m_nMdiMenuResourceID))
            hMenu = menu.Detach();
        if (m_nMdiAccelTableResourceID != 0)
            hAccel = g_CurrentResourceManager->LoadAccelerators(m_nMdiMenuResourceID);
    }
    if (hMenu == NULL)
        hMenu = pMdiFrame->m_hMenuDefault;
    if (hAccel == NULL)
        hAccel = pMdiFrame->m_hAccelTable;
    pDocFrame->SetHandles(hMenu, hAccel);
    ::SetParent(hWndContent, pDocFrame->m_hWnd);
    CRect rcClient;
    pDocFrame->GetClientRect(&rcClient);
    ::SetWindowPos(hWndContent, NULL, 0, 0, rcClient.Width(), rcClient.Height(),
                   SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    pDocFrame->MDIActivate();
    if (hMenu != NULL)
        pMdiFrame->MDISetMenu(CMenu::FromHandle(hMenu), NULL);
}

void CExtDynamicControlBar::LeaveDocumentMode()
{
    HWND hWndContent = GetContentWindow();
    if (hWndContent == NULL || m_hWnd == NULL || ::GetParent(hWndContent) == m_hWnd)
        return;
    CExtDynamicBarSite* pSite = GetBarSite();
    if (pSite == NULL || pSite->GetDetectedUiType() == CExtDynamicBarSite::__EDUIT_NOT_SUPPORTED)
        return;
    if (pSite->GetDetectedUiType() == CExtDynamicBarSite::__EDUIT_TAB_PAGE_CONTAINER)
    {
        CExtTabPageContainerWnd* pContainer = pSite->GetTabPageContainer();
        if (pContainer == NULL || pContainer->GetSafeHwnd() == NULL)
            return;
        const int nSel = pContainer->PageSelectionGet();
        HWND hWndPage = pContainer->PageHwndGetSafe(nSel);
        if (hWndPage == NULL)
            return;
        pContainer->PageRemove(nSel, 1, false);
        ::ShowWindow(hWndPage, SW_HIDE);
        ::SetParent(hWndPage, m_hWnd);
        CRect rcClient;
        GetClientRect(&rcClient);
        ::MoveWindow(hWndPage, rcClient.left, rcClient.top, rcClient.Width(), rcClient.Height(), TRUE);
        CFrameWnd* pParentFrame = GetParentFrame();
        if (pParentFrame != NULL)
            pParentFrame->DelayRecalcLayout();
        ::ShowWindow(hWndPage, SW_SHOW);
        if (pContainer->TabWndStyleBit0x10Get())
            pContainer->TabWndStyleBit0x200Set(pContainer->PageGetCount() > 0);
        return;
    }
    CExtDynamicMDIChildWnd* pDocFrame =
        DYNAMIC_DOWNCAST(CExtDynamicMDIChildWnd, CWnd::FromHandlePermanent(::GetParent(hWndContent)));
    if (pDocFrame != NULL)
        pDocFrame->DestroyWindow();  // the frame gives the content back as it goes
}

CExtDynamicMDIChildWnd* CExtDynamicControlBar::CreateDocumentFrame()
{
    CExtDynamicBarSite* pSite = GetBarSite();
    return pSite != NULL ? pSite->OnCreateDocumentFrame(this) : NULL;
}

// ---- the state archive ----------------------------------------------------------------------

void CExtDynamicControlBar::SerializeState(CArchive& ar)
{
    if (ar.IsStoring())
    {
        ar << DWORD(m_eBarState) << m_dwHiddenFlags << DWORD(m_nMdiMenuResourceID)
           << DWORD(m_nMdiAccelTableResourceID);
        return;
    }
    // Everything is read before anything changes: a short archive throws with the bar
    // as it was, and a state no bar can be in is a damaged archive.
    DWORD dwState = 0, dwHidden = 0, dwMenuID = 0, dwAccel = 0;
    ar >> dwState >> dwHidden >> dwMenuID >> dwAccel;
    if (dwState > __EDBS_AUTO_HIDDEN)
        AfxThrowArchiveException(CArchiveException::badIndex);
    m_eBarState = dwState;
    m_dwHiddenFlags = dwHidden;
    m_nMdiMenuResourceID = UINT(dwMenuID);
    m_nMdiAccelTableResourceID = UINT(dwAccel);
    if (dwState != __EDBS_DOCUMENT)
        m_nOptionFlags |= __ESF_IN_BARS_MENU;
    else
        m_nOptionFlags &= BYTE(~__ESF_IN_BARS_MENU);
    if ((dwHidden & 1) != 0 && m_hWnd != NULL)
        CControlBar::DelayShow(FALSE);
    if (dwState == __EDBS_DOCUMENT)
        EnterDocumentMode();
    else
        LeaveDocumentMode();
}

bool CExtDynamicControlBar::InsertCommandIntoMenu(CExtPopupMenuWnd* pPopup, int nPos)
{
    if (pPopup == NULL || m_hWnd == NULL)
        return false;
    return pPopup->ItemInsert(UINT(GetDlgCtrlID()), nPos);
}

// ---- window procedure -------------------------------------------------------------------

bool CExtDynamicControlBar::RefreshHiddenFlag(UINT)
{
    if (m_pDockSite != NULL && IsFrameRegistered(m_pDockSite))
        return false;
    if (IsVisible())
        m_dwHiddenFlags &= ~DWORD(1);
    else if (m_eBarState == __EDBS_FLOATING || m_eBarState == __EDBS_DOCKED)
        m_dwHiddenFlags |= 1;
    return true;
}

LRESULT CExtDynamicControlBar::WindowProc(UINT nMessage, WPARAM wParam, LPARAM lParam)
{
    switch (nMessage)
    {
    case WM_DESTROY:
    {
        CExtDynamicBarSite* pSite = GetBarSite();
        m_nDynFlags |= 0x02;  // the site must not destroy this window again
        if (pSite != NULL)
            pSite->OnBarDestroyed(this, false);
        // The base still has to run, so the frame forgets the bar and the bar's own
        // clean-up happens.
        break;
    }
    case WM_NCDESTROY:
    {
        const LRESULT lResult = CExtControlBar::WindowProc(nMessage, wParam, lParam);
        // A window made again for this object starts afresh.
        m_nDynFlags &= BYTE(~0x02);
        m_hWndContent = NULL;
        return lResult;
    }
    case WM_SHOWWINDOW:
    case WM_SIZE:
    case WM_WINDOWPOSCHANGED:
        RefreshHiddenFlag(nMessage);
        break;
    case WM_COMMAND:
        switch (LOWORD(wParam))
        {
        case __EDB_CMD_DOCKED: SetBarState(__EDBS_DOCKED, true); return 0;
        case __EDB_CMD_FLOATING: SetBarState(__EDBS_FLOATING, true); return 0;
        case __EDB_CMD_DOCUMENT_MDI:
        case __EDB_CMD_DOCUMENT_TABS: SetBarState(__EDBS_DOCUMENT, true); return 0;
        case __EDB_CMD_AUTO_HIDDEN: SetBarState(__EDBS_AUTO_HIDDEN, true); return 0;
        case __EDB_CMD_HIDE: SetBarState(GetBarState(NULL), false); return 0;
        default: break;
        }
        break;
    default:
        if (nMessage == CExtPopupMenuWnd::g_nMsgNotifyMenuClosed)
            RestoreMenuButton();
        break;
    }
    return CExtControlBar::WindowProc(nMessage, wParam, lParam);
}

// The options menu closed: its button loses the pressed look it kept while the menu was
// open.
void CExtDynamicControlBar::RestoreMenuButton()
{
    bool bChanged = false;
    for (INT_PTR i = 0; i < m_vNcAreaButtons.GetSize(); i++)
    {
        CExtBarNcAreaButton* pBtn = m_vNcAreaButtons[i];
        if (pBtn->IsKindOf(RUNTIME_CLASS(CExtDynamicBarNcAreaButtonMenu)) && (pBtn->IsHover() || pBtn->IsPressed()))
        {
            pBtn->ClearHoverAndPressed();
            bChanged = true;
        }
    }
    if (!bChanged || m_hWnd == NULL)
        return;
    CWnd* pSlider = GetAutoHideSliderShowingBar();
    if (pSlider != NULL)
        pSlider->PostMessage(WM_NCPAINT);
    else
        PostMessage(WM_NCPAINT);
}
