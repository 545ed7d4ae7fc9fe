// The dynamic bar's options menu (the four states and Hide, marked and enabled for the
// bar's state and its site) and its three caption buttons.
#include "toolkit/bars/dynamic_bar.h"
#include "toolkit/bars/auto_hide.h"
#include "toolkit/bars/dyn_tab_control_bar.h"
#include "toolkit/core/cmd_manager.h"
#include "toolkit/core/resource_manager.h"
#include "toolkit/menus/popup_menu_wnd.h"

IMPLEMENT_DYNCREATE(CExtDynamicBarNcAreaButtonClose, CExtBarNcAreaButtonClose)
IMPLEMENT_DYNCREATE(CExtDynamicBarNcAreaButtonAutoHide, CExtBarNcAreaButtonAutoHide)
IMPLEMENT_DYNCREATE(CExtDynamicBarNcAreaButtonMenu, CExtBarNcAreaButtonMenu)

namespace {

const BYTE kLowFlags = CExtBarNcAreaButton::__EBNBF_HOVER | CExtBarNcAreaButton::__EBNBF_PRESSED;

// The pages of the tabbed group pBar belongs to (or is); false for a plain bar.
bool GroupPages(CExtControlBar* pBar, CArray<CExtControlBar*, CExtControlBar*>& arrPages)
{
    CExtDynTabControlBar* pGroup = DYNAMIC_DOWNCAST(CExtDynTabControlBar, pBar);
    if (pGroup == NULL)
    {
        CExtDockDynTabBar* pTabDock = DYNAMIC_DOWNCAST(CExtDockDynTabBar, pBar->GetParent());
        pGroup = pTabDock != NULL ? pTabDock->GetTabContainer() : NULL;
    }
    if (pGroup == NULL)
        return false;
    pGroup->GetPages(arrPages);
    return true;
}

}  // namespace

// ---- the options menu ---------------------------------------------------------------------------

bool CExtDynamicControlBar::FillOptionsMenu(CExtPopupMenuWnd* pPopup, HWND hWndCmdReceiver, CExtBarNcAreaButton*,
                                            bool)
{
    CExtDynamicBarSite* pSite = GetBarSite();
    if (pPopup == NULL || pSite == NULL || pSite->GetDetectedUiType() == CExtDynamicBarSite::__EDUIT_NOT_SUPPORTED)
        return false;
    int nFirst = pPopup->ItemGetCount();
    if (nFirst > 0)
    {
        if (pPopup->ItemGetCmdID(nFirst - 1) != CExtPopupMenuWnd::TYPE_SEPARATOR)
            pPopup->ItemInsert(CExtPopupMenuWnd::TYPE_SEPARATOR, -1);
        nFirst = pPopup->ItemGetCount();
        CMenu menu;
        if (!g_CurrentResourceManager->LoadMenu(menu, __EDB_MENU_ID))
            return false;
        CMenu* pSub = menu.GetSubMenu(0);
        CMenu* pSource = pSub != NULL ? pSub : &menu;
        for (UINT i = 0; i < pSource->GetMenuItemCount(); i++)
        {
            const UINT nID = pSource->GetMenuItemID(int(i));
            if (nID == 0 || nID == UINT(-1) || !CExtCmdManager::IsCommand(nID))
                continue;
            CString sText;
            pSource->GetMenuString(i, sText, MF_BYPOSITION);
            sText.Remove('\r');
            sText.Remove('\n');
            sText.TrimLeft();
            sText.TrimRight();
            if (sText.IsEmpty())
                continue;
            CString sAccel;
            const int nTab = sText.Find('\t');
            if (nTab >= 0)
            {
                sAccel = sText.Mid(nTab + 1);
                sText = sText.Left(nTab);
            }
            pPopup->ItemInsertCommand(nID, -1, sText, sAccel.IsEmpty() ? NULL : LPCTSTR(sAccel));
        }
    }
    else if (!pPopup->LoadMenu(hWndCmdReceiver, __EDB_MENU_ID))
        return false;
    MarkOptionsMenuItems(pPopup, nFirst, pSite->GetDetectedUiType());
    if (!IsHidingAllowed())
    {
        for (int i = pPopup->ItemGetCount() - 1; i >= 0; i--)
        {
            if (pPopup->ItemGetCmdID(i) != SC_CLOSE)
                continue;
            pPopup->ItemRemove(i);
            if (i > 0 && pPopup->ItemGetCmdID(i - 1) == CExtPopupMenuWnd::TYPE_SEPARATOR)
                pPopup->ItemRemove(i - 1);
        }
    }
    return true;
}

void CExtDynamicControlBar::MarkOptionsMenuItems(CExtPopupMenuWnd* pPopup, int nFirst,
                                                CExtDynamicBarSite::eDetectedUiType_t eMode)
{
    for (int i = 0; i < pPopup->ItemGetCount(); i++)
    {
        const UINT nID = pPopup->ItemGetCmdID(i);
        if (nID >= 0xF000 && nID <= 0xF1EF)
            pPopup->ItemGetInfo(i).m_nStateFlags |= CExtPopupMenuWnd::MENUITEMDATA::__MIS_FORCE_ENABLED;
    }
    const DWORD s = GetBarState(NULL);
    const bool bDockable = (s <= __EDBS_DOCUMENT) && IsFloatToggleAllowed();
    for (int i = std::max(nFirst, 0); i < pPopup->ItemGetCount(); i++)
    {
        const UINT nID = pPopup->ItemGetCmdID(i);
        if ((nID == __EDB_CMD_DOCUMENT_TABS && eMode == CExtDynamicBarSite::__EDUIT_MDI_STANDARD) ||
            (nID == __EDB_CMD_DOCUMENT_MDI && (eMode == CExtDynamicBarSite::__EDUIT_MDI_WITH_TABS ||
                                               eMode == CExtDynamicBarSite::__EDUIT_TAB_PAGE_CONTAINER)))
        {
            pPopup->ItemRemove(i);
            i--;
            continue;
        }
        CExtPopupMenuWnd::MENUITEMDATA& mi = pPopup->ItemGetInfo(i);
        bool bMark = false, bEnable = false;
        switch (nID)
        {
        case __EDB_CMD_DOCKED: bMark = s == __EDBS_DOCKED; bEnable = bDockable; break;
        case __EDB_CMD_FLOATING: bMark = s == __EDBS_FLOATING; bEnable = bDockable; break;
        case __EDB_CMD_DOCUMENT_MDI:
        case __EDB_CMD_DOCUMENT_TABS: bMark = s == __EDBS_DOCUMENT; bEnable = bDockable; break;
        case __EDB_CMD_AUTO_HIDDEN:
            bMark = s == __EDBS_AUTO_HIDDEN;
            bEnable = (s == __EDBS_AUTO_HIDDEN || (s == __EDBS_DOCKED && GetParentFrame() == m_pDockSite)) &&
                      IsAutoHidingAllowed();
            break;
        case __EDB_CMD_HIDE: bEnable = IsHidingAllowed(); break;
        default: bEnable = mi.IsSeparator(); break;
        }
        if (mi.IsSeparator())
            continue;
        mi.SetRadio(bMark);
        mi.Enable(bEnable);
    }
}

// ---- caption buttons ------------------------------------------------------------------------

CExtDynamicBarNcAreaButtonClose::CExtDynamicBarNcAreaButtonClose(CExtControlBar* pBar)
    : CExtBarNcAreaButtonClose(pBar)
{
}

bool CExtDynamicBarNcAreaButtonClose::OnNcAreaClicked(CPoint point)
{
    if (!PtInButton(point))
        return false;
    m_nFlags &= BYTE(~kLowFlags);
    CExtDynamicControlBar* pBar = DYNAMIC_DOWNCAST(CExtDynamicControlBar, m_pBar);
    if (pBar == NULL)
        return CExtBarNcAreaButtonClose::OnNcAreaClicked(point);
    pBar->SetBarState(pBar->GetBarState(NULL), false);
    return true;
}

CExtDynamicBarNcAreaButtonAutoHide::CExtDynamicBarNcAreaButtonAutoHide(CExtControlBar* pBar)
    : CExtBarNcAreaButtonAutoHide(pBar)
{
}

bool CExtDynamicBarNcAreaButtonAutoHide::OnNcAreaClicked(CPoint point)
{
    CExtControlBar* pOwner = m_pBar;
    if (!CExtBarNcAreaButtonAutoHide::OnNcAreaClicked(point))
        return false;
    m_nFlags &= BYTE(~kLowFlags);
    if (pOwner == NULL || pOwner->GetSafeHwnd() == NULL)
        return true;
    CArray<CExtControlBar*, CExtControlBar*> arrPages;
    if (GroupPages(pOwner, arrPages))
    {
        for (INT_PTR i = 0; i < arrPages.GetSize(); i++)
        {
            CExtDynamicControlBar* pPage = DYNAMIC_DOWNCAST(CExtDynamicControlBar, arrPages[i]);
            if (pPage != NULL && pPage->m_eBarState != CExtDynamicControlBar::__EDBS_DOCUMENT)
                pPage->m_eBarState = pPage->AutoHideModeGet() ? CExtDynamicControlBar::__EDBS_AUTO_HIDDEN
                                                              : CExtDynamicControlBar::__EDBS_DOCKED;
        }
        return true;
    }
    CExtDynamicControlBar* pBar = DYNAMIC_DOWNCAST(CExtDynamicControlBar, pOwner);
    if (pBar != NULL)
        pBar->m_eBarState =
            pBar->AutoHideModeGet() ? CExtDynamicControlBar::__EDBS_AUTO_HIDDEN : CExtDynamicControlBar::__EDBS_DOCKED;
    return true;
}

CExtDynamicBarNcAreaButtonMenu::CExtDynamicBarNcAreaButtonMenu(CExtControlBar* pBar) : CExtBarNcAreaButtonMenu(pBar)
{
}

CExtDynamicControlBar* CExtDynamicBarNcAreaButtonMenu::GetMenuBar(bool bFirstWhenNoSelection) const
{
    if (m_pBar == NULL)
        return NULL;
    CExtDynamicControlBar* pBar = DYNAMIC_DOWNCAST(CExtDynamicControlBar, m_pBar);
    if (pBar != NULL)
        return pBar;
    CExtDynamicTabbedControlBar* pGroup = DYNAMIC_DOWNCAST(CExtDynamicTabbedControlBar, m_pBar);
    if (pGroup == NULL)
        return NULL;
    CExtControlBar* pSelected = pGroup->GetSelectedBar();
    if (pSelected == NULL && bFirstWhenNoSelection)
    {
        CArray<CExtControlBar*, CExtControlBar*> arrPages;
        pGroup->GetPages(arrPages);
        if (arrPages.GetSize() > 0)
            pSelected = arrPages[0];
    }
    return DYNAMIC_DOWNCAST(CExtDynamicControlBar, pSelected);
}

bool CExtDynamicBarNcAreaButtonMenu::OnQueryVisibility() const
{
    if (!CExtBarNcAreaButton::OnQueryVisibility())
        return false;
    CExtDynamicControlBar* pBar = GetMenuBar(false);
    return pBar != NULL && pBar->IsMenuButtonAllowed() && !m_pBar->IsFixedMode();
}

bool CExtDynamicBarNcAreaButtonMenu::OnNcAreaClicked(CPoint point)
{
    m_nFlags &= BYTE(~kLowFlags);
    CExtDynamicControlBar* pBar = GetMenuBar(true);
    if (pBar == NULL || pBar->GetSafeHwnd() == NULL)
        return true;
    if (pBar->IsCustomizeModeActive() || CExtControlBar::IsFrameInHelpMode(pBar))
        return true;
    if (!PtInButton(point))
        return false;
    CExtPopupMenuWnd* pPopup = new CExtPopupMenuWnd;
    if (!pPopup->CreatePopupMenu(pBar->m_hWnd))
    {
        delete pPopup;
        return false;
    }
    const POINT ptCursor = {-1, -1};
    CExtControlBar::POPUP_MENU_EVENT_DATA _pmed(15, pPopup, m_pBar, ptCursor, WM_NCLBUTTONDOWN, this);
    if (!_pmed.NotifyTarget(false) && !pBar->FillOptionsMenu(pPopup, pBar->m_hWnd, this, false))
    {
        delete pPopup;
        return false;
    }
    _pmed.NotifyTarget(true);
    if (pPopup->ItemGetCount() == 0)
    {
        delete pPopup;
        return false;
    }
    // The reference window of the button: the slider while the bar is out, else the bar.
    CWnd* pRefWnd = m_pBar;
    m_nFlags |= kLowFlags;
    if (m_pBar->AutoHideModeGet())
    {
        CExtDynAutoHideArea* pArea = CExtDynAutoHideArea::FindBarArea(m_pBar);
        if (pArea == NULL || pArea->GetSlider() == NULL || pArea->GetSlider()->GetSafeHwnd() == NULL)
        {
            delete pPopup;
            return true;
        }
        CExtDynAutoHideSlider* pSlider = pArea->GetSlider();
        if (CExtControlBar::QueryFocusChangingEnabled(m_pBar, pSlider->m_hWnd))
            pSlider->SetFocus();
        pSlider->PostMessage(WM_NCPAINT);
        pRefWnd = pSlider;
    }
    else
    {
        if (CExtControlBar::QueryFocusChangingEnabled(m_pBar, m_pBar->m_hWnd))
            m_pBar->SetFocus();
        m_pBar->m_nInteractionFlags |= CExtControlBar::__EIF_FOCUS_INSIDE;
        const HWND hWndBar = m_pBar->m_hWnd;
        m_pBar->PostMessage(WM_NCPAINT);
        CExtPopupMenuWnd::stat_PumpPendingMessages(true);
        if (!::IsWindow(hWndBar))
        {
            delete pPopup;
            return true;
        }
    }
    CExtDynAutoHideSlider::PumpPaintMessages();
    CRect rcWnd;
    pRefWnd->GetWindowRect(&rcWnd);
    CRect rcBtn(m_rc);
    rcBtn.InflateRect(1, 1);
    rcBtn.OffsetRect(rcWnd.left, rcWnd.top);
    if (!pPopup->TrackPopupMenu(CExtPopupMenuWnd::TMF_OWNER_DRAW | CExtPopupMenuWnd::TMF_ALIGN_BELOW, rcBtn.left,
                                rcBtn.bottom, &rcBtn, this, NULL, NULL, true))
    {
        m_nFlags &= BYTE(~kLowFlags);
        delete pPopup;
        return false;
    }
    return true;
}
