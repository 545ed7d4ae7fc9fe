// The popup menu's items as built from a command tree and the command profile of the
// window that receives the commands.
#include "toolkit/menus/popup_menu_wnd.h"
#include "toolkit/core/cmd_manager.h"
#include "toolkit/core/cmd_tree.h"

#include <new>

CExtPopupMenuWnd::ItemList::~ItemList() { RemoveAll(); }

void CExtPopupMenuWnd::ItemList::RemoveAll()
{
    for (INT_PTR i = 0; i < m_arr.GetSize(); i++)
    {
        MENUITEMDATA* pItem = m_arr[i];
        if (pItem == NULL)
            continue;
        delete pItem->m_pPopup;
        delete pItem;
    }
    m_arr.RemoveAll();
}

int CExtPopupMenuWnd::ItemGetCount() const { return (int)m_items.m_arr.GetSize(); }

CExtPopupMenuWnd::MENUITEMDATA& CExtPopupMenuWnd::ItemGetInfo(int nPos)
{
    if (nPos < 0 || nPos >= ItemGetCount())
        AfxThrowInvalidArgException();
    return *m_items.m_arr[nPos];
}

void CExtPopupMenuWnd::ItemRemoveAll() { m_items.RemoveAll(); }

bool CExtPopupMenuWnd::UpdateFromCmdTree(HWND hWndCmdRecv, CExtCustomizeCmdTreeNode* pRootNode, bool bTopLevel)
{
    (void)bTopLevel;
    ItemRemoveAll();
    m_hWndCmdReceiver = hWndCmdRecv;
    if (pRootNode == NULL)
        return false;
    LPCTSTR sProfileName = g_CommandManager->ProfileNameFromWnd(hWndCmdRecv);
    CExtCmdProfile* pProfile = (sProfileName != NULL) ? g_CommandManager->ProfileGetPtr(sProfileName) : NULL;
    if (pProfile == NULL)
        return false;
    for (int i = 0; i < pRootNode->GetNodeCount(); i++)
    {
        CExtCustomizeCmdTreeNode* pNode = pRootNode->ElementAt(i);
        UINT nCmdID = pNode->GetCmdID(true);
        CExtCmdItem* pCmdItem = pProfile->CmdGetPtr(nCmdID);
        bool bPopup = pNode->IsPopupLike();
        if (!bPopup && pCmdItem == NULL)
            continue;  // a command the profile does not know shows nothing
        if ((pNode->GetFlags() & CExtCustomizeCmdTreeNode::__ECTN_GROUP_START) != 0 && ItemGetCount() > 0 &&
            !m_items.m_arr[ItemGetCount() - 1]->IsSeparator())
        {
            MENUITEMDATA* pSeparator = new MENUITEMDATA;
            m_items.m_arr.Add(pSeparator);
        }
        MENUITEMDATA* pItem = new MENUITEMDATA;
        pItem->m_pCmdNode = pNode;
        pItem->m_sText = pNode->GetTextInMenu(pCmdItem);
        pItem->m_pIcon = pNode->GetIconPtrInMenu(pCmdItem, false);
        if (bPopup)
        {
            pItem->m_nCmdID = UINT(-1);
            pItem->m_pPopup = new CExtPopupMenuWnd;
            pItem->m_pPopup->UpdateFromCmdTree(hWndCmdRecv, pNode, false);
        }
        else
        {
            pItem->m_nCmdID = nCmdID;
            pItem->m_sAccelText = pCmdItem->m_sAccelText;
        }
        m_items.m_arr.Add(pItem);
    }
    return true;
}

CExtCmdItem* CExtPopupMenuWnd::ItemGetCmd(int nPos)
{
    if (nPos < 0 || nPos >= ItemGetCount())
        return NULL;
    MENUITEMDATA& mi = *m_items.m_arr[nPos];
    if (!CExtCmdManager::IsCommand(mi.m_nCmdID))
        return NULL;
    LPCTSTR sProfileName = g_CommandManager->ProfileNameFromWnd(m_hWndCmdReceiver);
    if (sProfileName == NULL)
        return NULL;
    return g_CommandManager->CmdGetPtr(sProfileName, mi.m_nCmdID);
}

bool CExtPopupMenuWnd::ItemDeliver(int nPos, bool bSend)
{
    CExtCmdItem* pCmdItem = ItemGetCmd(nPos);
    if (pCmdItem == NULL || !pCmdItem->IsEnabled())
        return false;
    return pCmdItem->Deliver(m_hWndCmdReceiver, bSend);
}

void CExtPopupMenuWnd::ItemsUpdateCmdUI(CCmdTarget* pTarget)
{
    for (int i = 0; i < ItemGetCount(); i++)
    {
        CExtCmdItem* pCmdItem = ItemGetCmd(i);
        if (pCmdItem != NULL)
            pCmdItem->DoUpdateCmdUI(pTarget, (UINT)i);
        else if (m_items.m_arr[i]->m_pPopup != NULL)
            m_items.m_arr[i]->m_pPopup->ItemsUpdateCmdUI(pTarget);
    }
}
