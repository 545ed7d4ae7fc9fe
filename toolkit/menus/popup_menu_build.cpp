// Filling a popup menu: item by item after CreatePopupMenu, from a menu resource or a
// menu handle (texts, accelerator texts and icons from the receiver's command profile),
// from a command-tree node, and turning it back into a menu handle.
//
// Recent-file placeholders (0xE110-0xE11F) are never copied; the application's recent
// files take the place of the first one.
#include "toolkit/menus/popup_menu_wnd.h"
#include "toolkit/core/cmd_manager.h"
#include "toolkit/core/cmd_tree.h"
#include "toolkit/core/resource_manager.h"
#include "toolkit/menus/popup_color_menu_wnd.h"
#include "toolkit/menus/popup_picker_services.h"

CExtPopupPickerServices g_PopupPickerServices = {};

namespace {

bool IsRecentFileCmd(UINT nCmdID) { return nCmdID >= 0xE110 && nCmdID <= 0xE11F; }

const DWORD kNodeAutoPopup = 0x04;
const DWORD kNodeGroupStart = 0x10;
const DWORD kNodeSitePopup = 0x800;
const DWORD kNodeColorMenu = 0x8000;
const DWORD kNodeUndoRedo = 0x100000;
const DWORD kNodeKeepCmdId = 0x82800;
// The colour menu's two rows: node bit 0 shows the default-colour row, bit 17 the
// custom-colour row.
const DWORD kNodeColorDefaultRow = 0x00001;
const DWORD kNodeColorCustomRow = 0x20000;
const DWORD kUndoRedoListStyles = 0x50200068;

}  // namespace

bool CExtPopupMenuWnd::CreatePopupMenu(HWND hWndCmdRecv)
{
    if (IsTopLevel() || m_pParentMenu != NULL || ItemGetCount() > 0)
        return false;
    m_nMenuFlags |= __MF_TOP_LEVEL;
    m_pParentMenu = NULL;
    m_sizeContent = CSize(1, 1);
    m_hWndCmdReceiver = hWndCmdRecv;
    return true;
}

bool CExtPopupMenuWnd::LoadMenu(HWND hWndCmdRecv, UINT nResourceID, bool bPopupMenu, bool bNoCmdProfile)
{
    CMenu menu;
    if (!g_CurrentResourceManager->LoadMenu(menu, nResourceID))
        return false;
    bool bResult = LoadMenu(hWndCmdRecv, &menu, bPopupMenu, true, bNoCmdProfile);
    menu.DestroyMenu();
    return bResult;
}

bool CExtPopupMenuWnd::LoadMenu(HWND hWndCmdRecv, CMenu* pMenu, bool bPopupMenu, bool bTopLevel,
                                bool bNoCmdProfile)
{
    if (hWndCmdRecv != NULL)
        m_hWndCmdReceiver = hWndCmdRecv;
    if (pMenu == NULL || !::IsMenu(pMenu->GetSafeHmenu()))
        return false;
    HMENU hMenu = pMenu->GetSafeHmenu();
    if (bPopupMenu)
    {
        hMenu = ::GetSubMenu(hMenu, 0);
        if (hMenu == NULL || !::IsMenu(hMenu))
            return false;
    }
    if (!bNoCmdProfile &&
        !g_CommandManager->UpdateFromMenu(g_CommandManager->ProfileNameFromWnd(m_hWndCmdReceiver), hMenu, false, true,
                                          true))
        return false;
    CMenu menuUse;
    menuUse.Attach(hMenu);
    bool bResult = UpdateFromMenu(&menuUse, bTopLevel, bNoCmdProfile);
    menuUse.Detach();
    return bResult;
}

void CExtPopupMenuWnd::SetTopLevel(bool bTopLevel)
{
    if (bTopLevel)
    {
        m_nMenuFlags |= __MF_TOP_LEVEL;
        m_pParentMenu = NULL;
    }
    else
        m_nMenuFlags &= ~__MF_TOP_LEVEL;
}

bool CExtPopupMenuWnd::UpdateFromMenu(CMenu* pMenu, bool bTopLevel, bool bNoCmdProfile)
{
    RemoveAllItems(bNoCmdProfile);
    if (pMenu == NULL)
        return true;
    SetTopLevel(bTopLevel);
    HMENU hMenu = pMenu->GetSafeHmenu();
    const int nCount = ::GetMenuItemCount(hMenu);
    int nRecentPos = -1;
    for (int nPos = 0; nPos < nCount; nPos++)
    {
        UINT nID = ::GetMenuItemID(hMenu, nPos);
        if (IsRecentFileCmd(nID))
        {
            if (nRecentPos < 0)
                nRecentPos = ItemGetCount();
            continue;
        }
        MENUITEMDATA mi(this);
        mi.m_hWndCmdReceiver = m_hWndCmdReceiver;
        mi.UpdateFromMenuItem(m_hWndCmdReceiver, hMenu, nPos, bNoCmdProfile);
        if (mi.IsSeparator() && ItemGetCount() > 0 && m_items.ElementAt(ItemGetCount() - 1).IsSeparator())
            continue;  // never two separators in a row
        if (mi.IsPopup() && mi.m_pPopup != NULL)
        {
            mi.m_pPopup->m_hWndCmdReceiver = m_hWndCmdReceiver;
            CMenu sub;
            sub.Attach(::GetSubMenu(hMenu, nPos));
            mi.m_pPopup->UpdateFromMenu(&sub, false, bNoCmdProfile);
            sub.Detach();
            mi.m_pPopup->m_pParentMenu = this;
        }
        ItemInsertData(-1, mi);
    }
    if (nRecentPos >= 0 && !bNoCmdProfile)
    {
        int nInserted = 0;
        if (!InsertRecentFileItems(nRecentPos, nInserted))
            return false;
        if (nInserted > 0 && !ItemInsert(TYPE_SEPARATOR, nRecentPos + nInserted))
            return false;
    }
    RecalcLayout();
    return true;
}

bool CExtPopupMenuWnd::MENUITEMDATA::UpdateFromMenuItem(HWND hWndCmdRecv, HMENU hMenu, int nPos, bool bNoCmdProfile)
{
    TCHAR sBuffer[1024 + 1] = {0};
    MENUITEMINFO mii;
    ::ZeroMemory(&mii, sizeof(mii));
    mii.cbSize = sizeof(mii);
    mii.fMask = MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_CHECKMARKS | MIIM_TYPE | MIIM_DATA;
    mii.dwTypeData = sBuffer;
    mii.cch = 1024;
    if (!::GetMenuItemInfo(hMenu, (UINT)nPos, TRUE, &mii))
        return false;
    m_hWndCmdReceiver = hWndCmdRecv;
    m_nItemIndex = nPos;
    if ((mii.fType & MFT_SEPARATOR) != 0)
    {
        m_nCmdID = TYPE_SEPARATOR;
        MeasureItem();
        return true;
    }
    if ((mii.fState & MFS_DEFAULT) != 0)
        m_nLayoutFlags |= __MIF_DEFAULT;
    else
        m_nLayoutFlags &= ~__MIF_DEFAULT;
    if (mii.hSubMenu != NULL)
    {
        CreateSubMenu();
        m_nCmdID = TYPE_POPUP;
        SetTextWithAccel(sBuffer);
        MeasureItem();
        return true;
    }
    if ((INT)mii.wID <= 0)
        return false;
    m_nCmdID = mii.wID;
    CString sText = sBuffer;
    if (bNoCmdProfile)
    {
        m_nKindFlags |= __MIK_CUSTOM;
        Enable((mii.fState & (MFS_GRAYED | MFS_DISABLED)) == 0);
        SetCheck((mii.fState & MFS_CHECKED) != 0);
    }
    else
    {
        LPCTSTR sProfile = GetProfileName();
        CExtCmdItem* pCmdItem = (sProfile != NULL) ? g_CommandManager->CmdGetPtr(sProfile, m_nCmdID) : NULL;
        if (pCmdItem == NULL)
            return false;
        const CString& sCmdText = !pCmdItem->m_sMenuText.IsEmpty() ? pCmdItem->m_sMenuText : pCmdItem->m_sToolbarText;
        if (!sCmdText.IsEmpty())
            sText = sCmdText;
        SetAccelText(pCmdItem->m_sAccelText);
    }
    SetTextWithAccel(sText);
    UpdateAccessKey();
    MeasureItem();
    return true;
}

HMENU CExtPopupMenuWnd::ExportToHMENU(bool bDeep)
{
    HMENU hMenu = ::CreatePopupMenu();
    if (hMenu == NULL)
        return NULL;
    for (int i = 0; i < ItemGetCount(); i++)
    {
        MENUITEMDATA& mi = m_items.ElementAt(i);
        CString sText = mi.m_sText;
        if (!mi.m_sAccelText.IsEmpty())
            sText += _T("\t") + mi.m_sAccelText;
        if (mi.IsPopup())
        {
            HMENU hSub = (bDeep && mi.m_pPopup != NULL) ? mi.m_pPopup->ExportToHMENU(true) : ::CreatePopupMenu();
            if (hSub != NULL && ::IsMenu(hSub))
                ::AppendMenu(hMenu, MF_POPUP, (UINT_PTR)hSub, sText);
        }
        else if (mi.IsSeparator())
            ::AppendMenu(hMenu, MF_SEPARATOR, 0, NULL);
        else
            ::AppendMenu(hMenu, MF_STRING, mi.GetCmdID(), sText);
    }
    return hMenu;
}

bool CExtPopupMenuWnd::BuildFromCmdTree(HWND hWndCmdRecv, CExtCustomizeCmdTreeNode* pNode, bool bTopLevel)
{
    m_pSourceNode = pNode;
    if (hWndCmdRecv != NULL)
        m_hWndCmdReceiver = hWndCmdRecv;
    LPCTSTR sProfile = g_CommandManager->ProfileNameFromWnd(m_hWndCmdReceiver);
    // Outside customize mode the placeholders of recent files are left out.
    CExtCustomizeSite* pSite = CExtCustomizeSite::GetCustomizeSite(m_hWndCmdReceiver);
    const bool bCustomizeMode = pSite != NULL && pSite->IsCustomizeMode();
    RemoveAllItems(false);
    if (pNode == NULL)
        return true;
    SetTopLevel(bTopLevel);
    int nRecentPos = -1;
    for (int i = 0; i < pNode->GetNodeCount(); i++)
    {
        CExtCustomizeCmdTreeNode* pChild = pNode->ElementAt(i);
        if (pChild == NULL)
            continue;
        if ((pChild->GetFlags() & kNodeGroupStart) != 0)
            ItemInsert(TYPE_SEPARATOR, ItemGetCount());
        if (!bCustomizeMode && IsRecentFileCmd(pChild->GetCmdID(false)))
        {
            if (nRecentPos < 0)
                nRecentPos = ItemGetCount();
            continue;
        }
        MENUITEMDATA mi(this);
        mi.m_hWndCmdReceiver = m_hWndCmdReceiver;
        if (!mi.ConstructPopupFromNode(m_hWndCmdReceiver, pChild, ItemGetCount(), this))
            continue;
        CExtCmdItem* pCmdItem = NULL;
        if (mi.IsPopup())
        {
            if (mi.m_pPopup != NULL)
            {
                mi.m_pPopup->m_hWndCmdReceiver = m_hWndCmdReceiver;
                mi.m_pPopup->BuildFromCmdTree(m_hWndCmdReceiver, pChild, false);
                mi.m_pPopup->m_pParentMenu = this;
            }
        }
        else
        {
            pCmdItem = (sProfile != NULL) ? g_CommandManager->CmdGetPtr(sProfile, mi.m_nCmdID) : NULL;
            if (pCmdItem == NULL)
                continue;
            mi.m_sAccelText = pCmdItem->m_sAccelText;
        }
        mi.m_sText = pChild->GetTextInMenu(pCmdItem);
        mi.UpdateAccessKey();
        mi.MeasureItem();
        ItemInsertData(-1, mi);
    }
    if (nRecentPos >= 0)
    {
        int nInserted = 0;
        if (!InsertRecentFileItems(nRecentPos, nInserted))
            return false;
        // No files: the group the placeholder stood in would leave two separators.
        if (nInserted == 0 && nRecentPos > 0 && nRecentPos < ItemGetCount() - 1 &&
            m_items.ElementAt(nRecentPos).IsSeparator() && m_items.ElementAt(nRecentPos - 1).IsSeparator())
            ItemRemove(nRecentPos);
    }
    RecalcLayout();
    return true;
}

bool CExtPopupMenuWnd::MENUITEMDATA::ConstructPopupFromNode(HWND hWndCmdRecv, CExtCustomizeCmdTreeNode* pNode,
                                                            int nPos, CExtPopupMenuWnd* pParent)
{
    (void)pParent;
    if (pNode == NULL)
        return false;
    m_nItemIndex = nPos;
    m_pCmdNode = pNode;
    if (hWndCmdRecv != NULL)
        m_hWndCmdReceiver = hWndCmdRecv;
    const DWORD dwFlags = pNode->GetFlags();
    // List-box and date-picker popups are supplied through a customize site; none is
    // registered in this program, so such nodes give no item.
    if ((dwFlags & kNodeSitePopup) != 0)
        return false;
    if ((dwFlags & kNodeColorMenu) != 0)
        return ConstructColorMenuFromNode(pNode, pParent);
    if ((dwFlags & kNodeUndoRedo) != 0)
        return ConstructUndoRedoFromNode(pNode);
    if ((dwFlags & kNodeAutoPopup) != 0 || pNode->GetNodeCount() > 0)
    {
        CreateSubMenu();
        m_pPopup->m_pSourceNode = pNode;
        m_nCmdID = TYPE_POPUP;
        m_sText = pNode->GetTextInMenu(NULL);
        return true;
    }
    UINT nEffective = pNode->GetCmdID(true);
    if (!CExtCmdManager::IsCommand(nEffective))
        return false;
    LPCTSTR sProfile = GetProfileName();
    CExtCmdItem* pCmdItem = (sProfile != NULL) ? g_CommandManager->CmdGetPtr(sProfile, nEffective) : NULL;
    if (pCmdItem == NULL)
        return false;
    if ((dwFlags & kNodeKeepCmdId) == 0 || m_nCmdID == TYPE_SEPARATOR)
        m_nCmdID = nEffective;
    m_sText = pNode->GetTextInMenu(pCmdItem);
    m_sAccelText = pCmdItem->m_sAccelText;
    return true;
}

bool CExtPopupMenuWnd::MENUITEMDATA::ConstructColorMenuFromNode(CExtCustomizeCmdTreeNode* pNode,
                                                               CExtPopupMenuWnd* pParent)
{
    const DWORD dwFlags = pNode->GetFlags();
    CExtPopupColorMenuWnd* pColorMenu = new CExtPopupColorMenuWnd;
    pColorMenu->m_pParentMenu = pParent;
    pColorMenu->m_hWndCmdReceiver = m_hWndCmdReceiver;
    pColorMenu->m_lParamCookie = (LPARAM)pNode->GetLParam();
    pColorMenu->m_nRowFlags = 0;
    if ((dwFlags & kNodeColorDefaultRow) != 0)
        pColorMenu->m_nRowFlags |= CExtPopupColorMenuWnd::ROW_DEFAULT_COLOR;
    if ((dwFlags & kNodeColorCustomRow) != 0)
        pColorMenu->m_nRowFlags |= CExtPopupColorMenuWnd::ROW_CUSTOM_COLOR;
    CExtCustomizeSite* pSite = CExtCustomizeSite::GetCustomizeSite(m_hWndCmdReceiver);
    if (pSite != NULL)
        pSite->OnColorMenuPrepare(pNode, pColorMenu->m_sBtnTextColorDefault, pColorMenu->m_sBtnTextColorCustom,
                                  pColorMenu->m_clrDefault, pColorMenu->m_clrInitial);
    SetNodePopup(pNode, pColorMenu);
    return true;
}

bool CExtPopupMenuWnd::MENUITEMDATA::ConstructUndoRedoFromNode(CExtCustomizeCmdTreeNode* pNode)
{
    CExtCustomizeSite* pSite = CExtCustomizeSite::GetCustomizeSite(m_hWndCmdReceiver);
    CSize sizeList = (pSite != NULL) ? pSite->GetPopupListSize(pNode) : CSize(0, 0);
    if (sizeList.cx == 0 && sizeList.cy == 0)
        sizeList = CSize(pNode->GetExtraValue1(), pNode->GetExtraValue3());
    CExtPopupMenuWnd* pPopup =
        g_PopupPickerServices.CreateUndoRedoPopup(pNode, kUndoRedoListStyles, (LPARAM)pNode->GetLParam(), sizeList);
    if (pPopup == NULL)
        return false;
    SetNodePopup(pNode, pPopup);
    return true;
}

void CExtPopupMenuWnd::MENUITEMDATA::SetNodePopup(CExtCustomizeCmdTreeNode* pNode, CExtPopupMenuWnd* pPopup)
{
    // The popup takes the place of a sub-menu; the item shows the node's text and the
    // accelerator of the command behind the node.
    DestroySubMenu();
    m_pPopup = pPopup;
    pPopup->m_hWndCmdReceiver = m_hWndCmdReceiver;
    pPopup->m_pSourceNode = pNode;
    m_nCmdID = TYPE_POPUP;
    m_sText = pNode->GetTextInMenu(NULL);
    LPCTSTR sProfile = GetProfileName();
    CExtCmdItem* pCmdItem = (sProfile != NULL) ? g_CommandManager->CmdGetPtr(sProfile, pNode->GetCmdID(true)) : NULL;
    m_sAccelText = (pCmdItem != NULL) ? pCmdItem->m_sAccelText : CString();
}
