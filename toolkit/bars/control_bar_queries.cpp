// What other code asks of a bar without driving it: the docking predicates, the frame
// queries, the focus query, the popup-menu event record, the bars menu and the list of a
// frame's bars; and the hooks through which libraries linked before the bars read them.
#include "toolkit/bars/control_bar.h"
#include "toolkit/bars/dyn_tab_control_bar.h"
#include "toolkit/bars/dynamic_bar.h"
#include "toolkit/bars/auto_hide.h"
#include "toolkit/bars/dock_bar.h"
#include "toolkit/bars/dyn_tab_wnd.h"
#include "toolkit/bars/menu_bar.h"
#include "toolkit/bars/mini_frame.h"
#include <algorithm>
#include "framework/afxres.h"
#include "framework/miniframe.h"
#include "toolkit/core/cmd_manager.h"
#include "toolkit/dialogs/resizable_dialog.h"
#include "toolkit/dialogs/tab_neighbours.h"
#include "toolkit/dialogs/tab_page_container.h"
#include "toolkit/menus/popup_menu_wnd.h"
#include "toolkit/theme/pm_neighbours.h"

// ---- docking predicates ---------------------------------------------------------------

UINT CExtControlBar::GetDockBarCtrlID() const
{
    HWND hWndDock = (m_pDockBar != NULL) ? m_pDockBar->GetSafeHwnd() : (m_hWnd != NULL ? ::GetParent(m_hWnd) : NULL);
    if (hWndDock == NULL)
        return AFX_IDW_DOCKBAR_FLOAT;
    CWnd* pWnd = CWnd::FromHandlePermanent(hWndDock);
    if (pWnd == NULL || !pWnd->IsKindOf(RUNTIME_CLASS(CDockBar)))
        return AFX_IDW_DOCKBAR_FLOAT;
    return UINT(::GetDlgCtrlID(hWndDock));
}

bool CExtControlBar::IsDockedAtTop() const
{
    if (m_pDockSite == NULL)
        return (m_dwStyle & (CBRS_ALIGN_TOP | CBRS_BORDER_BOTTOM)) != 0;
    return GetDockBarCtrlID() == __DOCKBAR_ID_TOP;
}

bool CExtControlBar::IsDockedAtBottom() const
{
    if (m_pDockSite == NULL)
        return (m_dwStyle & (CBRS_ALIGN_BOTTOM | CBRS_BORDER_TOP)) != 0;
    return GetDockBarCtrlID() == __DOCKBAR_ID_BOTTOM;
}

bool CExtControlBar::IsDockedAtLeft() const
{
    if (m_pDockSite == NULL)
        return (m_dwStyle & (CBRS_ALIGN_LEFT | CBRS_BORDER_RIGHT)) != 0;
    return GetDockBarCtrlID() == __DOCKBAR_ID_LEFT;
}

bool CExtControlBar::IsDockedAtRight() const
{
    if (m_pDockSite == NULL)
        return (m_dwStyle & (CBRS_ALIGN_RIGHT | CBRS_BORDER_LEFT)) != 0;
    return GetDockBarCtrlID() == __DOCKBAR_ID_RIGHT;
}

bool CExtControlBar::IsDockedVertically() const
{
    if (m_pDockSite == NULL)
        return (m_dwStyle & 0x5500) != 0;
    const UINT nID = GetDockBarCtrlID();
    return nID == __DOCKBAR_ID_LEFT || nID == __DOCKBAR_ID_RIGHT;
}

bool CExtControlBar::IsDockedHorizontally() const
{
    if (m_pDockSite == NULL)
        return (m_dwStyle & 0xAA00) != 0;
    const UINT nID = GetDockBarCtrlID();
    return nID == __DOCKBAR_ID_TOP || nID == __DOCKBAR_ID_BOTTOM;
}

bool CExtControlBar::IsDockedAtFrameSide() const
{
    if (m_pDockSite == NULL)
        return true;
    const UINT nID = GetDockBarCtrlID();
    return nID >= __DOCKBAR_ID_TOP && nID <= __DOCKBAR_ID_BOTTOM;
}

bool CExtControlBar::IsFloating() const
{
    if (IsDockedAtFrameSide())
        return false;
    return m_hWnd != NULL && GetParentFrame() != NULL;
}

CFrameWnd* CExtControlBar::GetDockingFrame() const
{
    if (m_pDockSite != NULL)
        return m_pDockSite;
    if (m_hWnd == NULL)
        return NULL;
    CFrameWnd* pFrame = GetParentFrame();
    if (pFrame != NULL && pFrame->IsKindOf(RUNTIME_CLASS(CMiniDockFrameWnd)))
        pFrame = pFrame->GetParentFrame();
    return pFrame;
}

bool CExtControlBar::IsFixedMode() const { return (m_nOptionFlags & __ESF_FIXED_MODE) != 0; }

bool CExtControlBar::IsPrintPreviewMode() const
{
    if (m_pDockSite == NULL || (m_nOptionFlags & __ESF_OUTSIDE_FRAME) != 0)
        return false;
    return IsPrintPreviewActive(m_pDockSite);
}

bool CExtControlBar::IsBarOleInPlaceActive() const { return IsOleInPlaceActive(GetDockingFrame()); }

bool CExtControlBar::IsSingleBarInMiniFrame() const
{
    if (m_pDockSite == NULL || m_hWnd == NULL || (GetStyle() & WS_VISIBLE) == 0 || IsFixedMode())
        return false;
    CFrameWnd* pMiniFrame = GetParentFrame();
    if (pMiniFrame == NULL || !pMiniFrame->IsKindOf(RUNTIME_CLASS(CMiniFrameWnd)))
        return false;
    for (POSITION pos = m_pDockSite->m_listControlBars.GetHeadPosition(); pos != NULL;)
    {
        CControlBar* pBar = reinterpret_cast<CControlBar*>(m_pDockSite->m_listControlBars.GetNext(pos));
        if (pBar == this || pBar == NULL || !pBar->IsKindOf(RUNTIME_CLASS(CExtControlBar)))
            continue;
        CExtControlBar* pExtBar = static_cast<CExtControlBar*>(pBar);
        if (pExtBar->m_pDockSite == NULL || pExtBar->m_pDockBar == NULL || pExtBar->IsFixedMode() ||
            pExtBar->GetSafeHwnd() == NULL)
            continue;
        // Nested containers count through their bars; a tabbed group counts as one bar.
        if (pExtBar->IsKindOf(RUNTIME_CLASS(CExtDynControlBar)) && !pExtBar->IsKindOf(RUNTIME_CLASS(CExtDynTabControlBar)))
            continue;
        if (pExtBar->GetParentFrame() != pMiniFrame || (pExtBar->GetStyle() & WS_VISIBLE) == 0)
            continue;
        if (!pExtBar->m_pDockBar->IsKindOf(RUNTIME_CLASS(CExtDockBar)) ||
            pExtBar->m_pDockBar->IsKindOf(RUNTIME_CLASS(CExtDockDynTabBar)) ||
            (pExtBar->m_pDockBar->GetStyle() & WS_VISIBLE) == 0)
            continue;
        return false;
    }
    return true;
}

bool CExtControlBar::IsBarWithGripper(bool* pbGripperAtTop, bool* pbTextOnGripper) const
{
    if (pbGripperAtTop != NULL)
        *pbGripperAtTop = false;
    if (pbTextOnGripper != NULL)
        *pbTextOnGripper = false;
    if (m_hWnd == NULL || !::IsWindow(m_hWnd) || (m_dwStyle & CBRS_GRIPPER) == 0 || IsFloating())
        return false;
    CFrameWnd* pFrame = GetParentFrame();
    if (pFrame != NULL && pFrame->IsKindOf(RUNTIME_CLASS(CExtMiniDockFrameWnd)) && IsSingleBarInMiniFrame())
        return false;
    // A page shows no caption of its own: its group's caption and tab stand for it.
    if (m_pDockBar != NULL && m_pDockBar->IsKindOf(RUNTIME_CLASS(CExtDockDynTabBar)) && !AutoHideModeGet())
        return false;
    if (pbTextOnGripper != NULL)
        *pbTextOnGripper = true;
    if (pbGripperAtTop != NULL)
        *pbGripperAtTop = (m_nOptionFlags & __ESF_CAPTION_AT_TOP) != 0 || IsDockedVertically();
    return true;
}

// ---- drag style -----------------------------------------------------------------------

int CExtControlBar::QueryDockMarkerStyle() const
{
    if (g_nDockMarkerStyleOverride != -1)
        return g_nDockMarkerStyleOverride;
    // Dock markers and live floating belong to the Studio 2005 look.
    CExtPaintManager* pPM = const_cast<CExtControlBar*>(this)->GetPaintManager();
    return (pPM != NULL && pPM->GetThemeId() == CExtPaintManager::ThemeIdStudio2005) ? 1 : 0;
}

bool CExtControlBar::UsesDockMarkerDrag() const { return QueryDockMarkerStyle() == 1; }

bool CExtControlBar::UsesLiveRowResize() const
{
    if (QueryDockMarkerStyle() == 1)
        return false;
    return UsesDockMarkerDrag();
}

bool CExtControlBar::UsesLiveInRowResize() const
{
    if (QueryDockMarkerStyle() == 1)
        return false;
    return UsesDockMarkerDrag();
}

bool CExtControlBar::IsShowContentOnDock() const
{
    if (!UsesDockMarkerDrag())
        return true;
    return QueryDockMarkerStyle() == 1;
}

// ---- bars menu and visibility ---------------------------------------------------------

bool CExtControlBar::InsertIntoBarsMenu(CExtPopupMenuWnd* pPopup)
{
    if (pPopup == NULL || (m_nOptionFlags & __ESF_IN_BARS_MENU) == 0 || g_bLockAllBars)
        return false;
    pPopup->ItemInsert(UINT(GetDlgCtrlID()), -1);
    return true;
}

BOOL CExtControlBar::DoFrameBarCheckCmd(CFrameWnd* pFrame, UINT nID, bool bHideIfVisible)
{
    if (pFrame == NULL)
        return FALSE;
    CControlBar* pBar = pFrame->GetControlBar(nID);
    if (pBar == NULL)
        return FALSE;
    if (pBar->IsKindOf(RUNTIME_CLASS(CExtControlBar)))
    {
        static_cast<CExtControlBar*>(pBar)->ToggleVisibility(bHideIfVisible);
        return TRUE;
    }
    pFrame->ShowControlBar(pBar, (pBar->GetStyle() & WS_VISIBLE) == 0, FALSE);
    return TRUE;
}

// Mask bits of GetFrameControlBars: kind 0x1 fixed, 0x2 resizable minimized in its row,
// 0x4 resizable; 0x78 the sides (top 0x08, bottom 0x10, left 0x20, right 0x40), 0x80
// floating; 0x100 visible, 0x200 hidden; 0x400 enabled, 0x800 disabled; 0x8000 the first
// bar under the point, 0x10000 the point in the client area.
void CExtControlBar::GetFrameControlBars(CExtControlBar* pBarExclude, CFrameWnd* pFrame,
                                         CArray<CExtControlBar*, CExtControlBar*>& arrBars, DWORD dwMask,
                                         CPoint ptRestrict)
{
    arrBars.RemoveAll();
    if (pFrame == NULL || (dwMask & 0x7) == 0 || (dwMask & 0x300) == 0 || (dwMask & 0xC00) == 0)
        return;
    for (INT_PTR i = 0; i < g_AllBars.GetSize(); i++)
    {
        CExtControlBar* pBar = g_AllBars[i];
        if (pBar == pBarExclude || pBar->GetSafeHwnd() == NULL || pBar->GetDockingFrame() != pFrame ||
            (pBar->m_nOptionFlags & __ESF_OUTSIDE_FRAME) != 0)
            continue;
        if (pBar->IsFixedMode())
        {
            if ((dwMask & 0x1) == 0)
                continue;
        }
        else if ((dwMask & 0x6) != 0x6)
        {
            const bool bMinimized = pBar->IsDockedVertically() ? pBar->m_sizeDockedV.cy == pBar->GetMinVertExtent()
                                                               : pBar->m_sizeDockedH.cx == pBar->GetMinHorzExtent();
            if ((dwMask & (bMinimized ? 0x2 : 0x4)) == 0)
                continue;
        }
        const bool bVisible = (pBar->GetStyle() & WS_VISIBLE) != 0;
        if ((dwMask & (bVisible ? 0x100 : 0x200)) == 0)
            continue;
        const bool bEnabled = pBar->IsWindowEnabled() != FALSE;
        if ((dwMask & (bEnabled ? 0x400 : 0x800)) == 0)
            continue;
        if (pBar->IsFloating())
        {
            if ((dwMask & 0x80) == 0)
                continue;
        }
        else
        {
            const DWORD dwSides = dwMask & 0x78;
            if (dwSides == 0)
                continue;
            if (dwSides != 0x78)
            {
                DWORD dwNeed = 0;
                switch (pBar->GetDockBarCtrlID())
                {
                case __DOCKBAR_ID_TOP: dwNeed = 0x08; break;
                case __DOCKBAR_ID_BOTTOM: dwNeed = 0x10; break;
                case __DOCKBAR_ID_LEFT: dwNeed = 0x20; break;
                case __DOCKBAR_ID_RIGHT: dwNeed = 0x40; break;
                default: break;
                }
                if (dwNeed != 0 && (dwSides & dwNeed) == 0)
                    continue;
            }
        }
        if ((dwMask & (0x8000 | 0x10000)) != 0)
        {
            CWnd* pTest = pBar->IsFloating() ? static_cast<CWnd*>(pBar->GetParentFrame()) : pBar;
            CRect rc;
            if ((dwMask & 0x10000) != 0)
            {
                pBar->GetClientRect(&rc);
                pBar->ClientToScreen(&rc);
            }
            else
                pTest->GetWindowRect(&rc);
            if (!rc.PtInRect(ptRestrict))
                continue;
            if ((dwMask & 0x8000) != 0)
            {
                arrBars.Add(pBar);
                return;
            }
        }
        arrBars.Add(pBar);
    }
}

void CExtControlBar::GetBarFrameControlBars(CArray<CExtControlBar*, CExtControlBar*>& arrBars, DWORD dwMask,
                                            bool bExcludeThis) const
{
    GetFrameControlBars(bExcludeThis ? const_cast<CExtControlBar*>(this) : NULL, GetDockingFrame(), arrBars, dwMask);
}

// ---- focus and frame queries ----------------------------------------------------------

bool CExtControlBar::SendQueryFocusChangingEnabled(HWND hWndTarget, CWnd* pWndQuerySrc, HWND hWndNewFocus)
{
    QUERY_FOCUS_CHANGING_DATA _qfc(pWndQuerySrc, hWndNewFocus);
    if (hWndTarget != NULL && ::IsWindow(hWndTarget))
        ::SendMessage(hWndTarget, g_nMsgQueryFocusChangingEnabled, (WPARAM)&_qfc, 0);
    return _qfc.m_bCanChangeFocus;
}

bool CExtControlBar::QueryFocusChangingEnabled(CWnd* pWndQuerySrc, HWND hWndNewFocus)
{
    if (pWndQuerySrc == NULL)
        return true;
    HWND hWndTarget = NULL;
    CControlBar* pBar = DYNAMIC_DOWNCAST(CControlBar, pWndQuerySrc);
    if (pBar != NULL && pBar->m_pDockSite != NULL && pBar->m_pDockSite->GetSafeHwnd() != NULL)
        hWndTarget = pBar->m_pDockSite->m_hWnd;
    else if (pWndQuerySrc->GetSafeHwnd() != NULL)
        hWndTarget = ::GetParent(pWndQuerySrc->m_hWnd);
    return SendQueryFocusChangingEnabled(hWndTarget, pWndQuerySrc, hWndNewFocus);
}

bool CExtControlBar::IsFrameInHelpMode(CWnd* pWnd)
{
    if (pWnd == NULL || pWnd->GetSafeHwnd() == NULL)
        return false;
    CFrameWnd* pFrame = pWnd->IsFrameWnd() ? static_cast<CFrameWnd*>(pWnd) : pWnd->GetParentFrame();
    while (pFrame != NULL)
    {
        if (!pFrame->IsKindOf(RUNTIME_CLASS(CMiniFrameWnd)) && pFrame->m_bHelpMode)
            return true;
        pFrame = pFrame->GetParentFrame();
    }
    return false;
}

bool CExtControlBar::IsPrintPreviewActive(CFrameWnd*)
{
    // The framework has no views, so no frame shows a print preview.
    return false;
}

bool CExtControlBar::IsOleInPlaceActive(CWnd* pWndFrame)
{
    if (pWndFrame == NULL)
    {
        pWndFrame = AfxGetMainWnd();
        if (pWndFrame == NULL || !pWndFrame->IsFrameWnd())
            return false;
    }
    // Without views and OLE documents nothing is ever active in place; the frame walk
    // stays so that a mini frame answers for the frame it belongs to.
    CFrameWnd* pFrame = pWndFrame->IsFrameWnd() ? static_cast<CFrameWnd*>(pWndFrame) : pWndFrame->GetParentFrame();
    if (pFrame != NULL && pFrame->IsKindOf(RUNTIME_CLASS(CMiniDockFrameWnd)))
        pFrame = pFrame->GetParentFrame();
    if (pFrame == NULL || IsPrintPreviewActive(pFrame))
        return false;
    return false;
}

bool CExtControlBar::IsFrameRegistered(CFrameWnd* pFrame, bool* pbFlag)
{
    WORD wValue = 0;
    if (!g_FrameRegistry.Lookup(pFrame, wValue))
        return false;
    if (pbFlag != NULL)
        *pbFlag = wValue != 0;
    return true;
}

// ---- popup menu event record ----------------------------------------------------------

CExtControlBar::POPUP_MENU_EVENT_DATA::POPUP_MENU_EVENT_DATA(WORD nEventCode, CExtPopupMenuWnd* pPopupMenuWnd,
                                                             CWnd* pWndEventSrc, const POINT& ptScreen,
                                                             UINT nMsgID, CObject* pObjectSrc)
    : m_nEventCode(nEventCode), m_pPopupMenuWnd(pPopupMenuWnd), m_pWndEventSrc(pWndEventSrc), m_nMsgID(nMsgID),
      m_pObjectSrc(pObjectSrc), m_pWndInitialTarget(NULL), m_nFlags(0), m_ptScreen(ptScreen)
{
    if (m_ptScreen.x < 0 || m_ptScreen.y < 0)
    {
        if (!::GetCursorPos(&m_ptScreen))
            m_ptScreen.x = m_ptScreen.y = 0;
    }
}

CExtControlBar::POPUP_MENU_EVENT_DATA::~POPUP_MENU_EVENT_DATA() {}

bool CExtControlBar::POPUP_MENU_EVENT_DATA::IsControlBarMenuListNotification() const
{
    switch (m_nEventCode)
    {
    case 0: case 1: case 2: case 3: case 4: case 5: case 6: case 11: case 14:
        return true;
    default:
        return false;
    }
}

bool CExtControlBar::POPUP_MENU_EVENT_DATA::NotifyTarget(bool bPostNotification)
{
    m_nFlags = BYTE(bPostNotification ? (m_nFlags | 1) : (m_nFlags & ~1));
    m_pWndInitialTarget = NULL;
    if (m_pWndEventSrc == NULL || m_pWndEventSrc->GetSafeHwnd() == NULL)
        return false;
    CWnd* pTarget = NULL;
    CControlBar* pBar = DYNAMIC_DOWNCAST(CControlBar, m_pWndEventSrc);
    if (pBar != NULL && pBar->m_pDockSite != NULL)
        pTarget = pBar->m_pDockSite;
    else
    {
        CFrameWnd* pFrame = m_pWndEventSrc->GetParentFrame();
        if (pFrame != NULL && pFrame->IsKindOf(RUNTIME_CLASS(CMiniDockFrameWnd)))
            pFrame = pFrame->GetParentFrame();
        if (pFrame != NULL)
            pTarget = pFrame;
        else
            pTarget = CWnd::FromHandle(::GetParent(m_pWndEventSrc->m_hWnd));
    }
    if (pTarget == NULL || pTarget->GetSafeHwnd() == NULL)
        return false;
    // The record names the target as a frame; a dialog that takes the notification is
    // held in the same field.
    m_pWndInitialTarget = static_cast<CFrameWnd*>(pTarget);
    return pTarget->SendMessage(g_nMsgConstructPopupMenu, (WPARAM)this) != 0;
}

// ---- custom non-client query ----------------------------------------------------------

bool CExtControlBar::CUSTOM_NC_AREA_QUERY_DATA::Notify()
{
    SetHandled(false);
    if (m_pBar == NULL)
        return false;
    if (m_pBar->IsCustomNcAreaQueryEnabled())
    {
        CWnd* pTarget = NULL;
        if (m_pBar->m_pDockSite != NULL && m_pBar->m_pDockSite->GetSafeHwnd() != NULL)
            pTarget = m_pBar->m_pDockSite;
        else if (m_pBar->GetSafeHwnd() != NULL)
        {
            HWND hWnd = ::GetWindow(m_pBar->m_hWnd, GW_OWNER);
            if (hWnd == NULL)
                hWnd = ::GetParent(m_pBar->m_hWnd);
            pTarget = CWnd::FromHandlePermanent(hWnd);
        }
        if (pTarget != NULL && pTarget->GetSafeHwnd() != NULL)
            pTarget->SendMessage(g_nMsgCustomNcAreaQuery, (WPARAM)this);
    }
    if (!IsHandled())
    {
        // The themes answer -1 for the bar metrics, which selects the system's sizes.
        const int nSepW = ::GetSystemMetrics(SM_CXFRAME), nSepH = ::GetSystemMetrics(SM_CYFRAME);
        m_pBar->SetSeparatorWidth(std::min(nSepW, 4));
        m_pBar->SetSeparatorHeight(std::min(nSepH, 4));
        if ((m_pBar->m_dwStyle & CBRS_GRIPPER) != 0 && !m_pBar->IsFixedMode())
        {
            const int nCaption = ::GetSystemMetrics(SM_CYSMCAPTION) + 1;
            m_pBar->SetGripperWidthAtLeft(nCaption);
            m_pBar->SetGripperHeightAtTop(nCaption);
        }
    }
    return IsHandled();
}

// ---- hooks of the libraries linked before the bars ------------------------------------

namespace {

CExtControlBar* AsBar(CObject* p) { return DYNAMIC_DOWNCAST(CExtControlBar, p); }

HWND DockSiteOfBar(HWND hWndBar)
{
    CWnd* pWnd = CWnd::FromHandlePermanent(hWndBar);
    CControlBar* pBar = DYNAMIC_DOWNCAST(CControlBar, pWnd);
    if (pBar == NULL || pBar->IsDockBar() || pBar->m_pDockSite == NULL)
        return NULL;
    return pBar->m_pDockSite->GetSafeHwnd();
}

struct BarHooksInstaller
{
    BarHooksInstaller()
    {
        CExtCmdManager::g_pfnDockSiteOfBar = DockSiteOfBar;
        CExtResizableDialog::g_pfnChildBarsPreTranslateMessage = CExtControlBar::ChildBarsPreTranslateMessage;
        CExtResizableDialog::g_pfnUpdateChildBarsCmdUI = CExtControlBar::UpdateChildBarsCmdUI;

        CExtPmNeighbours::BarQueries& q = CExtPmNeighbours::g_bars;
        // The classes the theme tells apart. The docking core that this file belongs to
        // links every one of them in anyway, so naming them here adds nothing to a program.
        q.pControlBarClass = RUNTIME_CLASS(CExtControlBar);
        q.pMenuBarClass = RUNTIME_CLASS(CExtMenuControlBar);
        q.pDockOuterBarClass = RUNTIME_CLASS(CExtDockOuterBar);
        q.pAutoHideSliderClass = RUNTIME_CLASS(CExtDynAutoHideSlider);
        q.pMiniDockFrameClass = RUNTIME_CLASS(CExtMiniDockFrameWnd);
        q.pBarButtonClass = RUNTIME_CLASS(CExtBarButton);
        q.pDynTabWndClass = RUNTIME_CLASS(CExtDynTabWnd);
        q.pAutoHideAreaClass = RUNTIME_CLASS(CExtDynAutoHideArea);
        q.pfnOptionFlags = [](CObject* p) -> BYTE { return AsBar(p) != NULL ? AsBar(p)->m_nOptionFlags : 0; };
        q.pfnBarStyle = [](CObject* p) -> DWORD {
            CControlBar* pBar = DYNAMIC_DOWNCAST(CControlBar, p);
            return pBar != NULL ? pBar->m_dwStyle : 0;
        };
        q.pfnDockSite = [](CObject* p) -> CWnd* {
            CControlBar* pBar = DYNAMIC_DOWNCAST(CControlBar, p);
            return pBar != NULL ? pBar->m_pDockSite : NULL;
        };
        q.pfnDockBar = [](CObject* p) -> CWnd* {
            CControlBar* pBar = DYNAMIC_DOWNCAST(CControlBar, p);
            return pBar != NULL ? pBar->m_pDockBar : NULL;
        };
        q.pfnIsDockedVertically = [](CObject* p) {
            return AsBar(p) != NULL ? AsBar(p)->IsDockedVertically()
                                    : (CExtPmNeighbours::BarStyle(p) & 0x5500) != 0;
        };
        q.pfnIsDockedHorizontally = [](CObject* p) {
            return AsBar(p) != NULL ? AsBar(p)->IsDockedHorizontally()
                                    : (CExtPmNeighbours::BarStyle(p) & 0xAA00) != 0;
        };
        q.pfnIsDockedAtFrameSide = [](CObject* p) {
            return AsBar(p) != NULL ? AsBar(p)->IsDockedAtFrameSide() : CExtPmNeighbours::DockSite(p) == NULL;
        };
        q.pfnIsFloating = [](CObject* p) { return AsBar(p) != NULL && AsBar(p)->IsFloating(); };
        q.pfnIsFixedMode = [](CObject* p) { return AsBar(p) != NULL && AsBar(p)->IsFixedMode(); };
        q.pfnMiniFrameControlBar = [](CObject* p) -> CObject* {
            CExtMiniDockFrameWnd* pFrame = DYNAMIC_DOWNCAST(CExtMiniDockFrameWnd, p);
            return pFrame != NULL ? pFrame->GetControlBar() : NULL;
        };
        q.pfnButtonBar = [](CObject* p) -> CObject* {
            CExtBarButton* pTBB = DYNAMIC_DOWNCAST(CExtBarButton, p);
            return pTBB != NULL ? pTBB->m_pBar : NULL;
        };

        // What the tab windows and tab page containers ask of the bars.
        CExtTabBarServices::Services& t = CExtTabBarServices::g_services;
        t.pfnReposQueryInfo = [](WPARAM wParam, CWnd** ppWnd) {
            const CExtControlBar::QUERY_REPOSITION_CALC_EFFECT_DATA* p =
                reinterpret_cast<const CExtControlBar::QUERY_REPOSITION_CALC_EFFECT_DATA*>(wParam);
            if (ppWnd != NULL)
                *ppWnd = p->m_pWndToReposChilds;
            return p->IsReposQuery();
        };
        t.pfnReposSetSkip = [](WPARAM wParam) {
            reinterpret_cast<CExtControlBar::QUERY_REPOSITION_CALC_EFFECT_DATA*>(wParam)->SetSkipSizeParent(true);
        };
        t.pfnIsFrameInHelpMode = [](CWnd* pWnd) { return CExtControlBar::IsFrameInHelpMode(pWnd); };
        t.pfnNotifyPopupMenuEvent = [](WORD nEventCode, CExtPopupMenuWnd* pPopup, CWnd* pWndEventSrc,
                                       const POINT& ptScreen, UINT nMsgID, bool bPost) {
            CExtControlBar::POPUP_MENU_EVENT_DATA data(nEventCode, pPopup, pWndEventSrc, ptScreen, nMsgID, NULL);
            return data.NotifyTarget(bPost);
        };
        t.pfnDocumentContainerClickedButton = [](CWnd* pFrame, CWnd* pContainer, int nHitTest, bool bButtonPressed,
                                                 int nMouseButton, UINT nMouseEventFlags, bool* pbAnswer) {
            CExtDynamicBarSite* pSite = CExtDynamicBarSite::FindBarSiteByWnd(pFrame);
            if (pSite == NULL || pContainer == NULL ||
                pSite->GetTabPageContainer() != static_cast<CExtTabPageContainerWnd*>(pContainer))
                return false;
            const bool bAnswer =
                pSite->OnTabPageContainerClickedButton(nHitTest, bButtonPressed, nMouseButton, nMouseEventFlags);
            if (pbAnswer != NULL)
                *pbAnswer = bAnswer;
            return true;
        };
    }
};

const BarHooksInstaller g_BarHooksInstaller;

}  // namespace
