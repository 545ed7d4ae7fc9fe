// The command-UI update of menu items: before a menu level is shown its items ask the
// application, through the framework's update routing on each item's command receiver,
// whether they are enabled, checked or radio-checked and what their text is.
#include "toolkit/menus/popup_menu_wnd.h"
#include "toolkit/core/cmd_manager.h"
#include "toolkit/core/cmd_tree.h"

namespace {
bool IsSystemCmd(UINT nCmdID) { return nCmdID >= 0xF000 && nCmdID <= 0xF1EF; }
bool IsWindowListCmd(UINT nCmdID) { return nCmdID >= 0xFF00 && nCmdID <= 0xFF09; }
}  // namespace

CExtPopupMenuWnd::CExtPopupMenuCmdUI::CExtPopupMenuCmdUI(HWND hWndCmdReceiver, CExtPopupMenuWnd* pMenu)
    : m_hWndCmdReceiver(hWndCmdReceiver), m_pMenu(pMenu), m_pItem(NULL)
{
    m_nIndexMax = (UINT)pMenu->ItemGetCount();
}

void CExtPopupMenuWnd::CExtPopupMenuCmdUI::SelectItem(int nIndex)
{
    m_nIndex = (UINT)nIndex;
    m_pItem = &m_pMenu->ItemGetInfo(nIndex);
    m_nID = m_pItem->GetCmdID();
    if (m_pItem->IsPopup() || m_pItem->IsSeparator() || IsSystemCmd(m_nID))
        return;
    LPCTSTR sProfile = g_CommandManager->ProfileNameFromWnd(m_hWndCmdReceiver);
    CExtCmdItem* pCmdItem = (sProfile != NULL) ? g_CommandManager->CmdGetPtr(sProfile, m_nID) : NULL;
    if (pCmdItem == NULL)
        return;
    m_pItem->SetAccelText(pCmdItem->m_sAccelText);
    m_pItem->UpdateAccessKey();
    m_pItem->MeasureItem();
}

void CExtPopupMenuWnd::CExtPopupMenuCmdUI::Enable(BOOL bOn)
{
    m_bEnableChanged = TRUE;
    if (m_pItem == NULL || m_pItem->IsSeparator())
        return;
    if (m_pItem->IsPopup() && m_pItem->GetCmdItem() == NULL)
        return;
    if ((m_pItem->m_nStateFlags & MENUITEMDATA::__MIS_FORCE_ENABLED) != 0)
        bOn = TRUE;
    m_pItem->Enable(bOn != FALSE);
}

void CExtPopupMenuWnd::CExtPopupMenuCmdUI::SetCheck(int nCheck)
{
    if (m_pItem == NULL || m_pItem->IsPopup())
        return;
    m_pItem->SetCheck(nCheck != 0);
}

void CExtPopupMenuWnd::CExtPopupMenuCmdUI::SetRadio(BOOL bOn)
{
    if (m_pItem == NULL || m_pItem->IsPopup())
        return;
    m_pItem->SetRadio(bOn != FALSE);
}

void CExtPopupMenuWnd::CExtPopupMenuCmdUI::SetText(LPCTSTR lpszText)
{
    if (lpszText == NULL || m_pItem == NULL || m_pItem->IsPopup())
        return;
    m_pItem->SetText(lpszText);
    m_pItem->MeasureItem();
}

void CExtPopupMenuWnd::UpdateItemsCmdUI()
{
    if (m_pParentMenu == NULL && (m_dwTrackFlags & TMF_NO_CMD_UI) != 0)
        return;
    // The customize branches need a site; none is registered in this program. While the
    // site customizes, every item stays enabled so that it can be dragged.
    CExtCustomizeSite* pSite = CExtCustomizeSite::GetCustomizeSite(m_hWndCmdReceiver);
    const bool bCustomizeMode = pSite != NULL && pSite->IsCustomizeMode();
    const bool bHasProfile = g_CommandManager->ProfileNameFromWnd(m_hWndCmdReceiver) != NULL;
    CExtPopupMenuCmdUI cmdUI(m_hWndCmdReceiver, this);
    bool bRelayout = false;
    for (int i = 0; i < ItemGetCount(); i++)
    {
        cmdUI.SelectItem(i);
        MENUITEMDATA& mi = ItemGetInfo(i);
        if (mi.IsCustom() || mi.IsSeparator())
            continue;
        if (mi.IsPopup())
        {
            if (pSite != NULL && mi.m_pCmdNode != NULL && ::IsWindow(mi.m_hWndCmdReceiver))
            {
                cmdUI.m_nID = mi.m_pCmdNode->GetCmdID(false);
                cmdUI.DoUpdate(CWnd::FromHandle(mi.m_hWndCmdReceiver), TRUE);
                if (bCustomizeMode)
                    mi.m_nStateFlags |= MENUITEMDATA::__MIS_FORCE_ENABLED;
                mi.m_nCmdID = TYPE_POPUP;
            }
            if (mi.m_pPopup != NULL)
                mi.m_pPopup->UpdateItemsCmdUI();
            continue;
        }
        if (mi.m_pCbItemExtra != NULL)
        {
            bRelayout = true;
            continue;
        }
        const UINT nCmdID = mi.m_nCmdID;
        if (pSite != NULL && bHasProfile && pSite->IsCmdUpdateClaimed(nCmdID))
        {
            mi.m_nStateFlags |= MENUITEMDATA::__MIS_FORCE_ENABLED;
            const int nCheck = pSite->GetCmdCheckState(nCmdID);
            CExtCmdItem* pCmdItem = mi.GetCmdItem();
            if (pCmdItem != NULL)
                pCmdItem->SetCheck(nCheck != 0);
            cmdUI.SetCheck(nCheck);
            continue;
        }
        if (IsSystemCmd(nCmdID) || IsWindowListCmd(nCmdID))
            continue;
        HWND hWndRecv = mi.m_hWndCmdReceiver;
        if (hWndRecv == NULL || !::IsWindow(hWndRecv))
            continue;
        cmdUI.DoUpdate(CWnd::FromHandle(hWndRecv), TRUE);
        if (bCustomizeMode)
            mi.m_nStateFlags |= MENUITEMDATA::__MIS_FORCE_ENABLED;
    }
    if (bRelayout)
        RecalcLayout();
}
