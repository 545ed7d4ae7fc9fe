// The menu bar's life, its buttons made from the active menu, the MDI child and its
// buttons, keyboard selection mode, the posted menu requests and the system menus. The
// keyboard filter and the window hooks are in menu_bar_keys.cpp.
#include "toolkit/bars/menu_bar.h"
#include "toolkit/bars/bar_mdi_buttons.h"
#include "toolkit/core/cmd_item.h"
#include "toolkit/core/cmd_manager.h"
#include "toolkit/core/cmd_tree.h"
#include "toolkit/core/resource_manager.h"
#include "toolkit/menus/popup_menu_wnd.h"
#include "toolkit/menus/popup_tracking_site.h"

IMPLEMENT_DYNCREATE(CExtMenuControlBar, CExtToolControlBar)

bool CExtMenuControlBar::g_bIgnoreAltRelease = false;
bool CExtMenuControlBar::g_bAltNumpadSequence = false;
const UINT CExtMenuControlBar::g_nMsgPrepareSystemMenu =
    ::RegisterWindowMessage(_T("CExtMenuControlBar::g_nMsgPrepareSystemMenu"));

BEGIN_MESSAGE_MAP(CExtMenuControlBar, CExtToolControlBar)
    ON_WM_CREATE()
    ON_WM_DESTROY()
    ON_WM_TIMER()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
    ON_REGISTERED_MESSAGE(CExtToolControlBar::g_nMsgTrackButtonMenu, &CExtMenuControlBar::OnTrackButtonMenu)
END_MESSAGE_MAP()

MDI_RIGHT_BUTTONS_INFO::MDI_RIGHT_BUTTONS_INFO()
    : m_pWndMdiChildFrame(NULL), m_pBar(NULL), m_cxButton(0), m_cyButton(0), m_cxGroup(0), m_cyGroup(0), m_nFlags(0)
{
    ::SetRectEmpty(&m_rcClose);
    ::SetRectEmpty(&m_rcMaximize);
    ::SetRectEmpty(&m_rcRestore);
    ::SetRectEmpty(&m_rcMinimize);
    ::SetRectEmpty(&m_rcHelp);
    if (g_CurrentPaintManager.IsWinXP())
    {
        int n = ::GetSystemMetrics(SM_CXSMSIZE);
        if (::GetSystemMetrics(SM_CYSMSIZE) > n)
            n = ::GetSystemMetrics(SM_CYSMSIZE);
        n += 1;
        if (n < 18)
            n = 18;
        m_cxButton = m_cyButton = n;
    }
    else
    {
        m_cxButton = ::GetSystemMetrics(SM_CXSIZE);
        m_cyButton = ::GetSystemMetrics(SM_CYSIZE);
    }
    m_cxButton -= 2;
    m_cyButton -= 2;
}

CExtMenuControlBar::CExtMenuControlBar()
    : m_nMdiButtonsCmdID(0), m_hWndHooked(NULL), m_nMenuBarState(0), m_nFlatTrackingIndex(-1),
      m_nOldTrackingIndex(-1), m_pCustomizeMenuNode(NULL), m_nMenuBarOptions(0xF2), m_bOwnMenuLoadedHere(false)
{
}

CExtMenuControlBar::~CExtMenuControlBar()
{
    RemoveAllButtons();
    for (INT_PTR i = 0; i < g_AllBars.GetSize(); i++)
    {
        if (g_AllBars[i] == this)
        {
            g_AllBars.RemoveAt(i);
            break;
        }
    }
    // The MDI menu belongs to the MDI frame and its documents.
    m_menuMdi.Detach();
    // A menu taken from a frame may have gone with the frame already.
    HMENU hOwn = m_menuOwn.Detach();
    if (hOwn != NULL && ::IsMenu(hOwn))
        ::DestroyMenu(hOwn);
}

CFrameWnd* CExtMenuControlBar::DockingFrame() const
{
    if (IsInDialog())
        return NULL;
    return GetDockingFrame();
}

CWnd* CExtMenuControlBar::GetCommandWnd() const
{
    if (IsInDialog())
    {
        CWnd* pOwner = GetOwner();
        return pOwner != NULL ? pOwner : GetParent();
    }
    return DockingFrame();
}

void CExtMenuControlBar::SetOwnMenu(HMENU hMenu, bool bLoadedHere)
{
    HMENU hOld = m_menuOwn.Detach();
    if (hOld != NULL && hOld != hMenu && m_bOwnMenuLoadedHere && ::IsMenu(hOld))
        ::DestroyMenu(hOld);
    if (hMenu != NULL)
        m_menuOwn.Attach(hMenu);
    m_bOwnMenuLoadedHere = bLoadedHere;
}

// ---- creation and destruction ---------------------------------------------------------

void CExtMenuControlBar::PreSubclassWindow()
{
    CExtToolControlBar::PreSubclassWindow();
    if (IsInDialog() && m_hWndHooked == NULL)
    {
        HWND hWndParent = ::GetParent(m_hWnd);
        if (hWndParent != NULL)
        {
            m_hWndHooked = hWndParent;
            if (!IsHookedWindow(hWndParent))
                SetupHookWndSink(hWndParent);
        }
    }
}

HWND CExtMenuControlBar::FindMdiClient() const
{
    CFrameWnd* pFrame = DockingFrame();
    if (pFrame == NULL || pFrame->GetSafeHwnd() == NULL)
        return NULL;
    CMDIFrameWnd* pMdiFrame = DYNAMIC_DOWNCAST(CMDIFrameWnd, pFrame);
    if (pMdiFrame != NULL && pMdiFrame->m_hWndMDIClient != NULL && ::IsWindow(pMdiFrame->m_hWndMDIClient))
        return pMdiFrame->m_hWndMDIClient;
    for (HWND hWnd = ::GetWindow(pFrame->m_hWnd, GW_CHILD); hWnd != NULL; hWnd = ::GetWindow(hWnd, GW_HWNDNEXT))
    {
        char szClass[32] = "";
        ::GetClassNameA(hWnd, szClass, sizeof(szClass));
        if (lstrcmpiA(szClass, "mdiclient") == 0)
            return hWnd;
    }
    return NULL;
}

int CExtMenuControlBar::OnCreate(LPCREATESTRUCT lpcs)
{
    if (CExtToolControlBar::OnCreate(lpcs) == -1)
        return -1;
    CFrameWnd* pFrame = IsInDialog() ? NULL : GetDockingFrame();
    if (pFrame != NULL)
    {
        HWND hWndFrame = pFrame->GetSafeHwnd();
        if ((::GetWindowLong(hWndFrame, GWL_STYLE) & WS_CHILD) == 0)
        {
            HMENU hMenu = ::GetMenu(hWndFrame);
            if (hMenu != NULL)
            {
                SetOwnMenu(hMenu, false);
                UpdateMenuBar(false);
                ::SetMenu(hWndFrame, NULL);
            }
        }
        HWND hWndTop = ::GetAncestor(hWndFrame, GA_ROOT);
        bool bHooked = SetupHookWndSink(hWndTop);
        if (bHooked && hWndTop != hWndFrame)
            bHooked = SetupHookWndSink(hWndFrame);
        if (bHooked)
        {
            if (pFrame->IsKindOf(RUNTIME_CLASS(CMDIFrameWnd)) || IsMdiMode())
            {
                m_nMenuBarOptions |= __EMBO_MDI_MODE;
                HWND hWndClient = FindMdiClient();
                if (hWndClient != NULL)
                    HookMdiClient(hWndClient);
                else
                    SetTimer(__TIMER_FIND_MDI_CLIENT, 10, NULL);
            }
            CExtPopupMenuWnd::stat_PumpPendingMessages(CExtPopupMenuWnd::g_bPumpCallsOnIdle);
        }
        return 0;
    }
    m_nOptionFlags |= __ESF_OUTSIDE_FRAME;
    if (m_hWndHooked == NULL)
    {
        HWND hWndParent = ::GetParent(m_hWnd);
        if (hWndParent != NULL)
        {
            m_hWndHooked = hWndParent;
            if (!IsHookedWindow(hWndParent))
                SetupHookWndSink(hWndParent);
        }
    }
    return 0;
}

void CExtMenuControlBar::OnDestroy()
{
    if (m_nMdiButtonsCmdID != 0)
    {
        LPCTSTR sProfile = g_CommandManager->ProfileNameFromWnd(m_hWnd);
        if (sProfile != NULL)
            g_CommandManager->CmdRemove(sProfile, m_nMdiButtonsCmdID);
        m_nMdiButtonsCmdID = 0;
    }
    RemoveAllWndHooks();
    m_hWndHooked = NULL;
    CExtToolControlBar::OnDestroy();
}

void CExtMenuControlBar::OnTimer(UINT_PTR nIDEvent)
{
    switch (nIDEvent)
    {
    case __TIMER_SYNC_ACTIVE_CHILD:
        KillTimer(nIDEvent);
        m_nMenuBarOptions &= ~__EMBO_SYNC_POSTED;
        SyncActiveMdiChildHook();
        return;
    case __TIMER_UPDATE_MENU_BAR:
        KillTimer(nIDEvent);
        m_nMenuBarOptions &= ~__EMBO_UPDATE_POSTED;
        UpdateMenuBar(true);
        return;
    case __TIMER_FIND_MDI_CLIENT:
    {
        KillTimer(nIDEvent);
        HWND hWndClient = FindMdiClient();
        if (hWndClient != NULL)
            HookMdiClient(hWndClient);
        return;
    }
    case __TIMER_REMOVE_FRAME_MENU:
        KillTimer(nIDEvent);
        RemoveFrameMenu();
        return;
    default:
        break;
    }
    CExtToolControlBar::OnTimer(nIDEvent);
}

// ---- simple queries ---------------------------------------------------------------------

bool CExtMenuControlBar::IsMdiMode() const { return (m_nMenuBarOptions & __EMBO_MDI_MODE) != 0; }

bool CExtMenuControlBar::IsMdiButtonsEnabled() const { return true; }

CExtBarContentExpandButton* CExtMenuControlBar::CreateContentExpandButton()
{
    if ((m_nMenuBarOptions & __EMBO_MULTI_ROW) != 0)
        return NULL;
    return CExtToolControlBar::CreateContentExpandButton();
}

bool CExtMenuControlBar::IsRightToLeftLayout() const { return (g_CurrentResourceManager->GetLangLayout() & LAYOUT_RTL) != 0; }

bool CExtMenuControlBar::IsRightToLeftButtonOrder() const { return IsRightToLeftLayout(); }

CSize CExtMenuControlBar::GetDefaultButtonSize() const { return CSize(23, 20); }

bool CExtMenuControlBar::IsMultiRowLayout() const
{
    if (IsInDialog())
        return false;
    if (IsFloating())
        return false;
    if (IsCustomizeModeActive())
        return true;
    return (m_nMenuBarOptions & __EMBO_MULTI_ROW) != 0;
}

CMenu* CExtMenuControlBar::GetActiveMenu()
{
    if (m_menuMdi.GetSafeHmenu() != NULL)
        return &m_menuMdi;
    if (m_menuOwn.GetSafeHmenu() != NULL)
        return &m_menuOwn;
    return NULL;
}

void CExtMenuControlBar::SetMdiWindowPopupName(LPCTSTR sName)
{
    m_sMdiWindowPopupName = (sName != NULL) ? sName : _T("");
    m_sMdiWindowPopupName.Replace(_T("&"), _T(""));
    m_sMdiWindowPopupName.TrimLeft();
    m_sMdiWindowPopupName.TrimRight();
}

CExtCustomizeCmdTreeNode* CExtMenuControlBar::GetCustomizeMenuNode() { return m_pCustomizeMenuNode; }

CExtCustomizeCmdTreeNode* CExtMenuControlBar::DetachCustomizeMenuNode()
{
    CExtCustomizeCmdTreeNode* pNode = m_pCustomizeMenuNode;
    m_pCustomizeMenuNode = NULL;
    return pNode;
}

CExtCustomizeCmdTreeNode* CExtMenuControlBar::SetCustomizeMenuNode(CExtCustomizeCmdTreeNode* pNode)
{
    CExtCustomizeCmdTreeNode* pOld = m_pCustomizeMenuNode;
    m_pCustomizeMenuNode = pNode;
    return pOld;
}

void CExtMenuControlBar::SyncCustomizeMenuNode()
{
    // The menu node comes from a customize site; without one the bar keeps its own menu.
    CExtCustomizeSite* pSite = GetCustomizeSite();
    if (pSite == NULL)
        return;
    CExtCustomizeCmdTreeNode* pNode = pSite->GetMenuBarNode(this);
    if (pNode != m_pCustomizeMenuNode)
        m_pCustomizeMenuNode = pNode;
}

// ---- building the buttons ---------------------------------------------------------------

bool CExtMenuControlBar::UpdateMenuBar(bool bRecalcLayout)
{
    RemoveAllButtons();
    LPCTSTR sProfile = g_CommandManager->ProfileNameFromWnd(m_hWnd);
    if (sProfile != NULL)
        g_CommandManager->CmdRemoveByMask(sProfile, __MENUBAR_POPUP_CMD_STATE);
    SyncCustomizeMenuNode();
    CMenu* pMenu = GetActiveMenu();
    if (m_pCustomizeMenuNode != NULL)
        SetButtonsFromCmdTreeNode(m_pCustomizeMenuNode, false);
    else if (pMenu != NULL && sProfile != NULL)
    {
        const bool bRTL = IsRightToLeftButtonOrder();
        const int nCount = ::GetMenuItemCount(pMenu->m_hMenu);
        for (int i = 0; i < nCount; i++)
        {
            const int nPos = bRTL ? 0 : i;
            char szText[1025] = "";
            MENUITEMINFOA mii;
            memset(&mii, 0, sizeof(mii));
            mii.cbSize = sizeof(mii);
            mii.fMask = 0x3F;
            mii.dwTypeData = szText;
            mii.cch = 1024;
            if (!::GetMenuItemInfoA(pMenu->m_hMenu, (UINT)i, TRUE, &mii))
                continue;
            if ((mii.fType & MFT_STRING) != MFT_STRING || (mii.fType & (MFT_BITMAP | MFT_SEPARATOR)) != 0)
                szText[0] = 0;
            if (mii.hSubMenu == NULL && mii.wID == 0)
            {
                if (!InsertButton(nPos, 0, FALSE))
                    return false;
                continue;
            }
            CExtCmdItem* pCmd = NULL;
            bool bWindowList = false;
            if (mii.hSubMenu == NULL)
            {
                pCmd = g_CommandManager->CmdGetPtr(sProfile, mii.wID);
                // A command the owner did not register is registered here, so that the
                // button has texts to show.
                if (pCmd == NULL)
                    pCmd = g_CommandManager->CmdAllocPtr(sProfile, mii.wID);
            }
            else
            {
                pCmd = g_CommandManager->CmdAllocPtr(sProfile, 0);
                if (pCmd != NULL)
                {
                    pCmd->SetStateBit6(true);
                    pCmd->SetBasicCommand(true);
                    if (IsMdiMode() && !m_sMdiWindowPopupName.IsEmpty())
                    {
                        CString sName(szText);
                        sName.Replace(_T("&"), _T(""));
                        sName.TrimLeft();
                        sName.TrimRight();
                        bWindowList = (sName == m_sMdiWindowPopupName);
                    }
                }
            }
            if (pCmd == NULL)
                return false;
            if (pCmd->m_sMenuText.IsEmpty())
                pCmd->m_sMenuText = szText;
            if (pCmd->m_sToolbarText.IsEmpty())
                pCmd->m_sToolbarText = szText;
            if (!InsertButton(nPos, pCmd->m_nCmdID, FALSE))
                return false;
            if (mii.hSubMenu != NULL)
            {
                CExtBarButton* pTBB = GetButton(nPos);
                if (pTBB != NULL)
                {
                    pTBB->SetMenu(mii.hSubMenu, false, false);
                    if (bWindowList)
                        pTBB->SetAppendMdiWindowsMenu(true);
                }
            }
        }
    }
    bool bMdiButtonsChanged = false;
    if (IsMdiMode())
    {
        if (!IsBarOleInPlaceActive())
            bMdiButtonsChanged = SyncMdiButtons(false);
        SyncActiveMdiChildHook();
    }
    if ((bRecalcLayout || bMdiButtonsChanged) && m_hWnd != NULL)
    {
        Invalidate(TRUE);
        CExtControlBar::RecalcParentFrameLayout();
        RecalcParentFrameLayout();
        UpdateWindow();
        if (m_pDockSite != NULL)
        {
            CFrameWnd* pParentFrame = GetParentFrame();
            if (pParentFrame != NULL && pParentFrame->IsKindOf(RUNTIME_CLASS(CExtMiniDockFrameWnd)))
                pParentFrame->SetWindowPos(NULL, 0, 0, 0, 0,
                                           SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE |
                                               SWP_FRAMECHANGED | SWP_NOOWNERZORDER);
        }
    }
    return true;
}

bool CExtMenuControlBar::LoadMenuBar(UINT nResourceID)
{
    // The MDI menu is only borrowed; the own menu goes.
    m_menuMdi.Detach();
    SetOwnMenu(NULL, false);
    if (m_pDockSite != NULL && m_hWnd == NULL)
        return false;
    CMenu menu;
    if (!g_CurrentResourceManager->LoadMenu(menu, nResourceID))
        return false;
    SetOwnMenu(menu.Detach(), true);
    LPCTSTR sProfile = g_CommandManager->ProfileNameFromWnd(m_hWnd);
    if (sProfile == NULL || !g_CommandManager->UpdateFromMenu(sProfile, m_menuOwn.m_hMenu, false, true, true))
        return false;
    return UpdateMenuBar(true);
}

void CExtMenuControlBar::RemoveFrameMenu()
{
    if (IsInDialog())
        return;
    CFrameWnd* pFrame = DockingFrame();
    if (pFrame == NULL || pFrame->GetSafeHwnd() == NULL || IsOleInPlaceActive(pFrame))
        return;
    HMENU hMenu = ::GetMenu(pFrame->m_hWnd);
    if (hMenu == NULL)
        return;
    // Other code put a menu on the frame again: it becomes the bar's menu.
    if (hMenu != m_menuOwn.GetSafeHmenu() && m_menuMdi.GetSafeHmenu() == NULL)
        SetOwnMenu(hMenu, false);
    ::SetMenu(pFrame->m_hWnd, NULL);
    PostUpdateMenuBar();
}

void CExtMenuControlBar::PostSyncActiveMdiChild()
{
    if ((m_nMenuBarOptions & (__EMBO_SYNC_POSTED | __EMBO_UPDATE_POSTED)) != 0 || m_hWnd == NULL ||
        !::IsWindow(m_hWnd))
        return;
    m_nMenuBarOptions |= __EMBO_SYNC_POSTED;
    PostMessage(WM_TIMER, __TIMER_SYNC_ACTIVE_CHILD);
}

void CExtMenuControlBar::PostUpdateMenuBar()
{
    if ((m_nMenuBarOptions & __EMBO_UPDATE_POSTED) != 0 || m_hWnd == NULL || !::IsWindow(m_hWnd))
        return;
    m_nMenuBarOptions |= __EMBO_UPDATE_POSTED;
    m_nMenuBarOptions &= ~__EMBO_SYNC_POSTED;
    PostMessage(WM_TIMER, __TIMER_UPDATE_MENU_BAR);
}

void CExtMenuControlBar::RecalcParentFrameLayout()
{
    CExtToolControlBar::RecalcParentFrameLayout();
    if (!IsFloating() || m_pDockSite == NULL)
        return;
    CFrameWnd* pFrame = m_pDockSite;
    if (pFrame->GetSafeHwnd() == NULL || pFrame->m_bInRecalcLayout || IsFrameRegistered(pFrame) ||
        !pFrame->IsWindowVisible())
        return;
    HWND hWndTop = ::GetAncestor(pFrame->m_hWnd, GA_ROOT);
    if (hWndTop != NULL && ::IsIconic(hWndTop))
        return;
    pFrame->RecalcLayout();
}

void CExtMenuControlBar::OnStartDragging()
{
    EndFlatTracking(true);
    if (g_bButtonMenuTracking)
        CancelAllButtonMenuTracking();
    CExtToolControlBar::OnStartDragging();
}

void CExtMenuControlBar::OnDraggingDone(const InternalDraggingState_t& stateOld,
                                        const InternalDraggingState_t& stateNew, bool bCancel)
{
    CExtToolControlBar::OnDraggingDone(stateOld, stateNew, bCancel);
    // The MDI buttons were left alone while the bar moved; its new side may need others.
    if (m_hWnd == NULL || !IsMdiMode())
        return;
    SyncMdiButtons(true);
    RecalcButtonPositions();
}

// ---- the MDI child --------------------------------------------------------------------

HWND CExtMenuControlBar::GetActiveMdiChild(BOOL* pbMaximized)
{
    if (pbMaximized != NULL)
        *pbMaximized = FALSE;
    if (!IsMdiMode())
        return NULL;
    HWND hWndClient = FindMdiClient();
    if (hWndClient == NULL)
        return NULL;
    BOOL bMaximized = FALSE;
    HWND hWndChild = (HWND)::SendMessage(hWndClient, WM_MDIGETACTIVE, 0, (LPARAM)&bMaximized);
    if (hWndChild == NULL)
        return NULL;
    if ((::GetWindowLong(hWndChild, GWL_STYLE) & WS_VISIBLE) == 0)
    {
        // A hidden child counts only for an MDI frame, and not while it is kept active
        // behind an inactive frame.
        CFrameWnd* pFrame = DockingFrame();
        if (pFrame == NULL || !pFrame->IsKindOf(RUNTIME_CLASS(CMDIFrameWnd)))
            return NULL;
        CMDIChildWnd* pChild = DYNAMIC_DOWNCAST(CMDIChildWnd, CWnd::FromHandlePermanent(hWndChild));
        if (pChild != NULL && pChild->m_bPseudoInactive)
            return NULL;
    }
    if (pbMaximized != NULL)
        *pbMaximized = bMaximized;
    return hWndChild;
}

bool CExtMenuControlBar::SyncActiveMdiChildHook()
{
    if (IsInDialog() || GetDraggedBar() != NULL)
        return true;
    HWND hWndChild = GetActiveMdiChild(NULL);
    if (hWndChild != m_hWndHooked)
    {
        if (m_hWndHooked != NULL && ::IsWindow(m_hWndHooked))
            SetupHookWndSink(m_hWndHooked, true);
        m_hWndHooked = hWndChild;
        if (m_hWndHooked != NULL)
            SetupHookWndSink(m_hWndHooked);
        RecalcButtonPositions();
    }
    return true;
}

bool CExtMenuControlBar::HookMdiClient(HWND hWndMdiClient)
{
    if (hWndMdiClient == NULL || !SetupHookWndSink(hWndMdiClient))
        return false;
    ::SetWindowPos(hWndMdiClient, NULL, 0, 0, 0, 0,
                   SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED | SWP_NOCOPYBITS |
                       SWP_NOOWNERZORDER);
    SyncActiveMdiChildHook();
    return true;
}

bool CExtMenuControlBar::SyncMdiButtons(bool bRecalcLayout)
{
    if (!IsMdiButtonsEnabled())
    {
        if (bRecalcLayout)
            RecalcButtonPositions();
        return true;
    }
    if (GetDraggedBar() != NULL)
        return false;
    BOOL bMaximized = FALSE;
    HWND hWndChild = GetActiveMdiChild(&bMaximized);
    const int nCount = GetButtonsCount();
    if (nCount == 0 && hWndChild == NULL)
        return false;
    CExtBarMdiDocButton* pDoc = NULL;
    if (nCount > 0 && GetButton(0)->IsKindOf(RUNTIME_CLASS(CExtBarMdiDocButton)) &&
        !GetButton(0)->IsKindOf(RUNTIME_CLASS(CExtBarMdiRightButton)))
        pDoc = static_cast<CExtBarMdiDocButton*>(GetButton(0));
    int nRight = -1;
    if (nCount > 0 && GetButton(nCount - 1)->IsKindOf(RUNTIME_CLASS(CExtBarMdiRightButton)))
        nRight = nCount - 1;
    else if (nCount > 1 && (m_nMenuBarOptions & __EMBO_MULTI_ROW) == 0 &&
             GetButton(nCount - 2)->IsKindOf(RUNTIME_CLASS(CExtBarMdiRightButton)))
        nRight = nCount - 2;
    bool bChanged = false;
    if (hWndChild != NULL && bMaximized)
    {
        LPCTSTR sProfile = g_CommandManager->ProfileNameFromWnd(m_hWnd);
        if (m_nMdiButtonsCmdID == 0 && sProfile != NULL)
        {
            CExtCmdItem* pCmd = g_CommandManager->CmdAllocPtr(sProfile, 0);
            if (pCmd != NULL)
            {
                pCmd->SetBasicCommand(true);
                m_nMdiButtonsCmdID = pCmd->m_nCmdID;
            }
        }
        if (nRight < 0)
        {
            CExtBarMdiRightButton* pRight = new CExtBarMdiRightButton(this, m_nMdiButtonsCmdID);
            if (InsertButtonObject(-1, pRight, FALSE))
                bChanged = true;
            else
                delete pRight;
        }
        if (pDoc == NULL)
        {
            HMENU hSysMenu = ::GetSystemMenu(hWndChild, FALSE);
            if (hSysMenu != NULL && ::IsMenu(hSysMenu))
            {
                CExtBarMdiDocButton* pNewDoc = new CExtBarMdiDocButton(this, m_nMdiButtonsCmdID);
                pNewDoc->m_nMdiFlags = (m_nMenuBarOptions & __EMBO_DOC_BUTTON_OPTION) != 0
                                           ? BYTE(CExtBarMdiDocButton::__EMDF_DBLCLK_CLOSES)
                                           : BYTE(0);
                pNewDoc->SetMenu(hSysMenu, false, false);
                if (InsertButtonObject(0, pNewDoc, FALSE))
                    bChanged = true;
                else
                    delete pNewDoc;
            }
        }
    }
    else
    {
        if (nRight >= 0)
        {
            RemoveButton(nRight, FALSE);
            bChanged = true;
        }
        if (pDoc != NULL)
        {
            RemoveButton(0, FALSE);
            bChanged = true;
        }
    }
    // Both buttons follow the current child; a new child's icon is loaded on the next paint.
    for (int i = 0; i < GetButtonsCount(); i++)
    {
        CExtBarMdiDocButton* pMdi = DYNAMIC_DOWNCAST(CExtBarMdiDocButton, GetButton(i));
        if (pMdi != NULL)
            pMdi->SetMdiChild(hWndChild);
    }
    if (bRecalcLayout)
    {
        RecalcButtonPositions();
        return false;
    }
    return bChanged;
}

void CExtMenuControlBar::GetMdiRightButtonsInfo(MDI_RIGHT_BUTTONS_INFO& info, CExtBarMdiRightButton* pButton,
                                                bool bHorz)
{
    info.m_pBar = this;
    CWnd* pChild = pButton != NULL ? pButton->GetCmdTargetWnd() : NULL;
    if (pChild == NULL || pChild->GetSafeHwnd() == NULL)
    {
        HWND hWndChild = GetActiveMdiChild(NULL);
        pChild = hWndChild != NULL ? CWnd::FromHandle(hWndChild) : NULL;
    }
    if (pChild == NULL)
        return;
    info.m_pWndMdiChildFrame = pChild;
    const DWORD dwStyle = pChild->GetStyle(), dwExStyle = pChild->GetExStyle();
    HMENU hSysMenu = ::GetSystemMenu(pChild->m_hWnd, FALSE);
    if (hSysMenu != NULL)
    {
        const UINT nState = ::GetMenuState(hSysMenu, SC_CLOSE, MF_BYCOMMAND);
        if (nState != 0xFFFFFFFF && (nState & (MF_GRAYED | MF_DISABLED)) == 0)
            info.m_nFlags |= MDI_RIGHT_BUTTONS_INFO::__MRBF_CLOSE;
    }
    if ((dwStyle & WS_MAXIMIZEBOX) != 0)
        info.m_nFlags |= MDI_RIGHT_BUTTONS_INFO::__MRBF_MAXIMIZE;
    if ((dwStyle & WS_MINIMIZEBOX) != 0)
        info.m_nFlags |= MDI_RIGHT_BUTTONS_INFO::__MRBF_MINIMIZE;
    if ((dwStyle & WS_MAXIMIZEBOX) != 0 && (dwExStyle & WS_EX_CONTEXTHELP) != 0)
        info.m_nFlags |= MDI_RIGHT_BUTTONS_INFO::__MRBF_HELP;
    const int cxPart = bHorz ? info.m_cxButton : info.m_cyButton;
    int nLength = 2;
    if ((info.m_nFlags & MDI_RIGHT_BUTTONS_INFO::__MRBF_MINIMIZE) != 0)
        nLength = 2 * cxPart + 6;
    if ((info.m_nFlags & MDI_RIGHT_BUTTONS_INFO::__MRBF_MAXIMIZE) != 0 &&
        (info.m_nFlags & MDI_RIGHT_BUTTONS_INFO::__MRBF_MINIMIZE) == 0)
        nLength += cxPart + 2;
    if ((info.m_nFlags & MDI_RIGHT_BUTTONS_INFO::__MRBF_HELP) != 0)
        nLength += cxPart + 2;
    if ((info.m_nFlags & MDI_RIGHT_BUTTONS_INFO::__MRBF_CLOSE) != 0)
        nLength += cxPart + 2;
    if (bHorz)
    {
        info.m_cxGroup = nLength;
        info.m_cyGroup = info.m_cyButton + 2;
    }
    else
    {
        info.m_cxGroup = info.m_cxButton + 2;
        info.m_cyGroup = nLength;
    }
    info.m_nFlags |= MDI_RIGHT_BUTTONS_INFO::__MRBF_VALID;
}

void CExtMenuControlBar::RecalcButtonPositions()
{
    CExtToolControlBar::RecalcButtonPositions();
    if (m_hWnd == NULL || (m_pDockBar != NULL && IsFloating()))
        return;
    const int nCount = GetButtonsCount();
    int nRight = -1;
    if (nCount > 0 && GetButton(nCount - 1)->IsKindOf(RUNTIME_CLASS(CExtBarMdiRightButton)))
        nRight = nCount - 1;
    else if (nCount > 1 && GetButton(nCount - 2)->IsKindOf(RUNTIME_CLASS(CExtBarMdiRightButton)))
        nRight = nCount - 2;
    if (nRight < 0 || !GetButton(nRight)->IsVisible())
        return;
    const bool bHorz = m_pDockBar != NULL ? IsDockedHorizontally() : IsHorzByStyle();
    CRect rcClient;
    GetClientRect(&rcClient);
    CExtBarButton* pRight = GetButton(nRight);
    CExtBarButton* pChevron = (nRight == nCount - 2) ? GetButton(nCount - 1) : NULL;
    const bool bChevronShown = pChevron != NULL && pChevron->IsVisible() &&
                               (pChevron->GetStyle() & TBBS_HIDDEN) == 0;
    CRect rcRight = pRight->GetRect();
    CRect rcChevron = bChevronShown ? pChevron->GetRect() : CRect(0, 0, 0, 0);
    const int nEdge = bHorz ? rcClient.right - 1 : rcClient.bottom - 1;
    const int nGroupEnd = bHorz ? rcRight.right : rcRight.bottom;
    const int nChevronLength = bChevronShown ? (bHorz ? rcChevron.Width() : rcChevron.Height()) : 0;
    const int nTargetEnd = nEdge - nChevronLength;
    if (nGroupEnd >= nTargetEnd)
        return;
    const int nShift = nTargetEnd - nGroupEnd;
    if (bHorz)
        rcRight.OffsetRect(nShift, 0);
    else
        rcRight.OffsetRect(0, nShift);
    pRight->SetRect(rcRight);
    if (bChevronShown)
    {
        if (bHorz)
            rcChevron.OffsetRect(rcRight.right - rcChevron.left, 0);
        else
            rcChevron.OffsetRect(0, rcRight.bottom - rcChevron.top);
        pChevron->SetRect(rcChevron);
    }
}

// ---- keyboard selection mode ----------------------------------------------------------

bool CExtMenuControlBar::IsDropDownComboFocused() const
{
    HWND hWndFocus = ::GetFocus();
    for (int nStep = 0; nStep < 2 && hWndFocus != NULL; nStep++, hWndFocus = ::GetParent(hWndFocus))
    {
        CWnd* pWnd = CWnd::FromHandlePermanent(hWndFocus);
        char szClass[16] = "";
        ::GetClassNameA(hWndFocus, szClass, sizeof(szClass));
        const bool bCombo = (pWnd != NULL && pWnd->IsKindOf(RUNTIME_CLASS(CComboBox))) ||
                            lstrcmpiA(szClass, "ComboBox") == 0;
        if (!bCombo)
            continue;
        const DWORD dwType = DWORD(::GetWindowLong(hWndFocus, GWL_STYLE)) & 0x3;
        if ((dwType == CBS_DROPDOWN || dwType == CBS_DROPDOWNLIST) &&
            ::SendMessage(hWndFocus, CB_GETDROPPEDSTATE, 0, 0) != 0)
            return true;
    }
    return false;
}

void CExtMenuControlBar::UpdateFlatTracking(bool bRedraw)
{
    if (m_nFlatTrackingIndex < 0 && m_nOldTrackingIndex < 0)
    {
        m_nMenuBarState &= ~__EMBS_FLAT_TRACKING;
        return;
    }
    if (IsDropDownComboFocused())
    {
        HWND hWndFocus = ::GetFocus();
        if (::SendMessage(hWndFocus, CB_GETDROPPEDSTATE, 0, 0) == 0)
            hWndFocus = ::GetParent(hWndFocus);
        ::SendMessage(hWndFocus, CB_SHOWDROPDOWN, FALSE, 0);
    }
    if (IsFlatTracking())
    {
        if (m_nFlatTrackingIndex != m_nOldTrackingIndex)
        {
            CExtBarButton* pOld = GetButton(m_nOldTrackingIndex);
            if (pOld != NULL)
            {
                pOld->ModifyStyle(0, TBBS_CHECKED | TBBS_PRESSED);
                if (bRedraw)
                    RedrawButton(m_nOldTrackingIndex);
            }
            CExtBarButton* pNew = GetButton(m_nFlatTrackingIndex);
            if (pNew != NULL)
            {
                pNew->ModifyStyle(TBBS_PRESSED, 0);
                if (bRedraw)
                    RedrawButton(m_nFlatTrackingIndex);
            }
            m_nOldTrackingIndex = m_nFlatTrackingIndex;
            if (m_hWnd != NULL)
                UpdateWindow();
        }
        return;
    }
    CExtBarButton* pSel = GetButton(m_nFlatTrackingIndex);
    if (pSel != NULL)
    {
        pSel->ModifyStyle(0, TBBS_PRESSED);
        if (bRedraw)
        {
            RedrawButton(m_nFlatTrackingIndex);
            if (m_hWnd != NULL)
                UpdateWindow();
        }
    }
    m_nFlatTrackingIndex = m_nOldTrackingIndex = -1;
}

void CExtMenuControlBar::EndFlatTracking(bool bRedraw)
{
    if (!IsFlatTracking())
        return;
    m_nMenuBarState &= ~__EMBS_FLAT_TRACKING;
    UpdateFlatTracking(bRedraw);
}

void CExtMenuControlBar::ClearTitleHighlights()
{
    if (m_hWnd == NULL || !::IsWindow(m_hWnd))
        return;
    // The pointer may have crossed a title while the popup was open: the title took the
    // hover then, and with the popup gone no move over the bar will come to take it away.
    // When one popup replaces another, the next one's title is already marked as tracked.
    const int nTracked = g_bButtonMenuTracking ? m_nBtnIdxMenuTracking : -1;
    EndFlatTracking(false);
    if (m_nBtnIdxHover != nTracked)
        m_nBtnIdxHover = -1;
    if (m_nBtnIdxCapture != nTracked)
        m_nBtnIdxCapture = -1;
    bool bChanged = false;
    for (int i = 0; i < GetButtonsCount(); i++)
    {
        if (i == nTracked)
            continue;
        CExtBarButton* pTBB = GetButton(i);
        const bool bPressed = (pTBB->GetStyle() & TBBS_PRESSED) != 0;
        if (!pTBB->IsHot() && !bPressed)
            continue;
        pTBB->SetHot(false);
        if (bPressed)
            pTBB->ModifyStyle(0, TBBS_PRESSED);
        RedrawButton(i);
        bChanged = true;
    }
    if (bChanged)
        UpdateWindow();
}

BOOL CExtMenuControlBar::TrackButtonMenu(int nIndex, BOOL, BOOL, BOOL bKeyboard)
{
    if (g_bButtonMenuTracking && m_nBtnIdxMenuTracking == nIndex)
        return TRUE;
    if (m_hWnd == NULL || !IsWindowVisible())
        return FALSE;
    EndFlatTracking(true);
    PostMessage(g_nMsgTrackButtonMenu, (WPARAM)nIndex, (LPARAM)bKeyboard);
    return TRUE;
}

LRESULT CExtMenuControlBar::OnTrackButtonMenu(WPARAM wParam, LPARAM lParam)
{
    CWnd* pCmdWnd = GetCommandWnd();
    if (pCmdWnd == NULL || pCmdWnd->GetSafeHwnd() == NULL || !pCmdWnd->IsWindowEnabled() || GetButtonsCount() == 0)
        return 0;
    const int nIndex = (int)wParam;
    if (nIndex < 0 || nIndex >= GetButtonsCount())
    {
        EndFlatTracking(true);
        CancelAllButtonMenuTracking();
        return 0;
    }
    CExtBarButton* pTBB = GetButton(nIndex);
    if (pTBB->HasPopup() && CExtPopupMenuWnd::IsMenuTracking())
    {
        CExtToolControlBar::TrackButtonMenu(nIndex, TRUE, FALSE, lParam != 0);
        return 0;
    }
    CancelAllButtonMenuTracking();
    if (::GetCapture() == m_hWnd)
        ::ReleaseCapture();
    if (!IsFlatTracking())
    {
        HWND hWndFocus = ::GetFocus();
        if (hWndFocus != NULL)
            ::SendMessage(hWndFocus, WM_CANCELMODE, 0, 0);
    }
    m_nMenuBarState |= __EMBS_FLAT_TRACKING;
    m_nFlatTrackingIndex = nIndex;
    UpdateFlatTracking(true);
    return 0;
}

void CExtMenuControlBar::OpenButtonMenuAt(int nIndex)
{
    CExtBarButton* pTBB = GetButton(nIndex);
    if (pTBB == NULL)
        return;
    HWND hWndFocus = ::GetFocus();
    if (hWndFocus != NULL && !CExtPopupMenuWnd::IsMenuTracking())
        ::SendMessage(hWndFocus, WM_CANCELMODE, 0, 0);
    m_nMenuBarState &= ~__EMBS_FLAT_TRACKING;
    UpdateFlatTracking(false);
    g_bMenuTrackingExpanded = false;
    CExtToolControlBar::TrackButtonMenu(nIndex, TRUE, FALSE, (m_nMenuBarOptions & __EMBO_KEYBOARD_MENUS) != 0);
}

// ---- mouse ---------------------------------------------------------------------------

bool CExtMenuControlBar::ProcessMouseMove(UINT nFlags, CPoint point)
{
    if (!IsFlatTracking())
        return CExtToolControlBar::ProcessMouseMove(nFlags, point);
    const int nIndex = HitTestButton(point);
    if (nIndex >= 0 && nIndex != m_nFlatTrackingIndex)
        TrackButtonMenu(nIndex);
    return true;
}

void CExtMenuControlBar::OnLButtonDown(UINT nFlags, CPoint point)
{
    if (!IsFlatTracking())
    {
        const int nIndex = HitTestButton(point);
        if (nIndex >= 0 && nIndex == m_nBtnIdxMenuTracking)
            return;
    }
    CExtToolControlBar::OnLButtonDown(nFlags, point);
}

void CExtMenuControlBar::OnLButtonUp(UINT nFlags, CPoint point)
{
    const bool bWasFlat = IsFlatTracking();
    EndFlatTracking(false);
    CExtToolControlBar::OnLButtonUp(nFlags, point);
    if (bWasFlat && m_hWnd != NULL)
        Invalidate();
}

void CExtMenuControlBar::ReleaseBarCapture(bool bAnyBar)
{
    HWND hWndCapture = ::GetCapture();
    if (hWndCapture == NULL)
        return;
    if (hWndCapture == m_hWnd)
    {
        ::ReleaseCapture();
        return;
    }
    CWnd* pWndCapture = CWnd::FromHandlePermanent(hWndCapture);
    if (bAnyBar && pWndCapture != NULL && pWndCapture->IsKindOf(RUNTIME_CLASS(CExtControlBar)))
        ::ReleaseCapture();
}

// ---- system menus ----------------------------------------------------------------------

bool CExtMenuControlBar::TrackSystemMenu(CWnd* pWnd, const POINT* pPt, bool bSelectAny, const RECT* prcExclude,
                                         UINT nFlags, bool bCombined)
{
    EndFlatTracking(true);
    const bool bWasTracking = g_bButtonMenuTracking;
    const int nTracked = m_nBtnIdxMenuTracking;
    CancelAllButtonMenuTracking();
    if (pWnd == NULL || pWnd->GetSafeHwnd() == NULL)
        return false;
    HMENU hSysMenu = ::GetSystemMenu(pWnd->m_hWnd, FALSE);
    if (hSysMenu == NULL)
        return false;
    CExtPopupMenuWnd* pPopup = new CExtPopupMenuWnd;
    CMenu menuSys;
    menuSys.Attach(hSysMenu);
    const bool bBuilt =
        pPopup->CreatePopupMenu(pWnd->m_hWnd) && pPopup->LoadMenu(pWnd->m_hWnd, &menuSys, false, true, false);
    menuSys.Detach();
    if (!bBuilt)
    {
        delete pPopup;
        return false;
    }
    const bool bRTL = (pWnd->GetExStyle() & WS_EX_LAYOUTRTL) != 0;
    CPoint pt;
    if (pPt != NULL)
        pt = *pPt;
    else
    {
        CRect rcWnd, rcClient;
        pWnd->GetWindowRect(&rcWnd);
        pWnd->GetClientRect(&rcClient);
        pWnd->ClientToScreen(&rcClient);
        const int nFrame = pWnd->IsZoomed() ? 0 : ::GetSystemMetrics(SM_CXFRAME);
        pt.x = bRTL ? rcWnd.right - nFrame : rcWnd.left + nFrame;
        pt.y = rcClient.top;
    }
    if (nFlags == UINT(-1))
        nFlags = 0;
    if ((nFlags & CExtPopupMenuWnd::TMF_ALIGN_MASK) == 0)
        nFlags |= bRTL ? CExtPopupMenuWnd::TMF_ALIGN_LEFT_OF : CExtPopupMenuWnd::TMF_ALIGN_BELOW;
    if (bSelectAny)
        nFlags |= CExtPopupMenuWnd::TMF_SELECT_ANY;
    if (bWasTracking)
        nFlags |= CExtPopupMenuWnd::TMF_EXPANDED;
    nFlags |= CExtPopupMenuWnd::TMF_OWNER_DRAW;
    if (bCombined)
        nFlags |= CExtPopupMenuWnd::TMF_COMBINE_BY_PM;
    pWnd->SetFocus();
    g_bButtonMenuTracking = bSelectAny ? bWasTracking : false;
    if (nTracked >= 0)
        SetMenuTrackingButton(nTracked);
    CWnd* pMsgTarget = m_pDockSite != NULL ? (CWnd*)m_pDockSite : GetParent();
    if (pMsgTarget != NULL && pMsgTarget->GetSafeHwnd() != NULL)
        pMsgTarget->SendMessage(g_nMsgPrepareSystemMenu, (WPARAM)pPopup, (LPARAM)pWnd);
    if (bRTL && !bCombined)
        pt.x += pPopup->GetShadowSize();
    CRect rcExclude = prcExclude != NULL ? CRect(*prcExclude) : CRect(pt, pt);
    BOOL bTracked = bCombined ? pPopup->TrackPopupMenu(nFlags, pt.x, pt.y, &rcExclude, this,
                                                       CExtToolControlBar::stat_PaintCombinedButton, NULL, true)
                              : pPopup->TrackPopupMenu(nFlags, pt.x, pt.y, &rcExclude);
    if (!bTracked)
    {
        delete pPopup;
        CancelAllButtonMenuTracking();
        return false;
    }
    g_bButtonMenuTracking = true;
    return true;
}

bool CExtMenuControlBar::TrackFrameSystemMenu(const POINT* pPt, bool bSelectAny)
{
    if ((m_nMenuBarOptions & __EMBO_FRAME_SYSMENU) == 0)
        return false;
    g_bButtonMenuTracking = true;
    SetMenuTrackingButton(-1);
    CWnd* pTop = NULL;
    CFrameWnd* pFrame = DockingFrame();
    if (pFrame != NULL)
        pTop = CWnd::FromHandle(::GetAncestor(pFrame->m_hWnd, GA_ROOT));
    else if (m_hWndHooked != NULL)
        pTop = CWnd::FromHandle(::GetAncestor(m_hWndHooked, GA_ROOT));
    const bool bShown = TrackSystemMenu(pTop, pPt, bSelectAny, NULL, UINT(-1), false);
    if (bShown)
        m_nMenuBarState |= __EMBS_SYSMENU_TRACKING;
    else
        m_nMenuBarState &= ~__EMBS_SYSMENU_TRACKING;
    return bShown;
}

bool CExtMenuControlBar::TrackMdiChildSystemMenu(const POINT* pPt, bool bSelectAny)
{
    if ((m_nMenuBarOptions & __EMBO_CHILD_SYSMENU) == 0 || !IsMdiMode())
        return false;
    CExtBarButton* pFirst = GetButton(0);
    if (pFirst != NULL && pFirst->IsKindOf(RUNTIME_CLASS(CExtBarMdiDocButton)) &&
        !pFirst->IsKindOf(RUNTIME_CLASS(CExtBarMdiRightButton)))
    {
        HWND hWndFocus = ::GetFocus();
        if (hWndFocus != NULL && !CExtPopupMenuWnd::IsMenuTracking())
            ::SendMessage(hWndFocus, WM_CANCELMODE, 0, 0);
        return CExtToolControlBar::TrackButtonMenu(0) > 0;
    }
    HWND hWndChild = GetActiveMdiChild(NULL);
    CWnd* pChild = hWndChild != NULL ? CWnd::FromHandlePermanent(hWndChild) : NULL;
    if (pChild == NULL)
        return false;
    g_bButtonMenuTracking = true;
    SetMenuTrackingButton(-1);
    const bool bShown = TrackSystemMenu(pChild, pPt, bSelectAny, NULL, UINT(-1), false);
    if (bShown)
        m_nMenuBarState |= __EMBS_SYSMENU_TRACKING;
    else
        m_nMenuBarState &= ~__EMBS_SYSMENU_TRACKING;
    return bShown;
}
