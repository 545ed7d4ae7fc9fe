#include "toolkit/core/cmd_tree.h"
#include "toolkit/core/cmd_manager.h"
#include "toolkit/core/cmd_item.h"

#include <new>
#include <vector>
#include <string.h>

IMPLEMENT_SERIAL(CExtCustomizeCmdTreeNode, CObject, VERSIONABLE_SCHEMA | 1)

namespace {

const DWORD kPopupLikeFlags = 0x00000004 | 0x00008000 | 0x00100000 | 0x00002000 | 0x00080000;
const UINT kMenuTextBufferSize = 1024;

void SetOrClear(DWORD& dwFlags, DWORD dwBit, bool bOn)
{
    if (bOn)
        dwFlags |= dwBit;
    else
        dwFlags &= ~dwBit;
}

bool AllSet(DWORD dwFlags, DWORD dwMask) { return (dwFlags & dwMask) == dwMask; }

// The text a node shows in one place: its own text for that place, its own text for the
// other place, then the command's texts in the same order; "" when all are empty.
LPCTSTR FirstNonEmptyText(const CString& sOwn, const CString& sOwnOther, const CString* pCmdText,
                          const CString* pCmdTextOther)
{
    if (!sOwn.IsEmpty())
        return sOwn;
    if (!sOwnOther.IsEmpty())
        return sOwnOther;
    if (pCmdText != NULL && !pCmdText->IsEmpty())
        return *pCmdText;
    if (pCmdTextOther != NULL && !pCmdTextOther->IsEmpty())
        return *pCmdTextOther;
    return "";
}

CExtCmdIcon* ItemIconPtr(CExtCmdItem* pCmdItem)
{
    if (pCmdItem == NULL || pCmdItem->m_pProfile == NULL)
        return NULL;
    return pCmdItem->m_pProfile->CmdGetIconPtr(pCmdItem->m_nCmdID);
}

}  // namespace

CExtCustomizeCmdTreeNode::CExtCustomizeCmdTreeNode(UINT nCmdIdBasic, UINT nCmdIdEffective,
                                                   CExtCustomizeCmdTreeNode* pParentNode, DWORD dwFlags,
                                                   LPCTSTR sTextInToolbar, LPCTSTR sTextInMenu, LPCTSTR sTextUser,
                                                   DWORD nLParam, const CExtCmdIcon* pIconCustomized,
                                                   int nExtraValue1, int nExtraValue2, int nExtraValue3)
    : m_nCmdIdBasic(nCmdIdBasic),
      m_nCmdIdEffective(nCmdIdEffective),
      m_pParentNode(pParentNode),
      m_dwFlags(dwFlags),
      m_sTextInToolbar((sTextInToolbar != NULL) ? sTextInToolbar : ""),
      m_sTextInMenu((sTextInMenu != NULL) ? sTextInMenu : ""),
      m_sTextUser((sTextUser != NULL) ? sTextUser : ""),
      m_nLParam(nLParam),
      m_nExtraValue1(nExtraValue1),
      m_nExtraValue2(nExtraValue2),
      m_nExtraValue3(nExtraValue3)
{
    if (pIconCustomized != NULL && !pIconCustomized->IsEmpty())
        m_iconCustomized.AssignFrom(*pIconCustomized);
}

CExtCustomizeCmdTreeNode::~CExtCustomizeCmdTreeNode() { RemoveNodes(); }

// A node's own fields before its children, in archive order; answers the child count.
DWORD CExtCustomizeCmdTreeNode::SerializeHead(CArchive& ar)
{
    if (ar.IsStoring())
    {
        ar << (DWORD)m_nCmdIdBasic << (DWORD)m_nCmdIdEffective << (DWORD)m_dwFlags;
        ar << m_sTextInToolbar << m_sTextInMenu << m_sTextUser;
        ar << (DWORD)m_nLParam << (DWORD)m_nExtraValue1 << (DWORD)m_nExtraValue2 << (DWORD)m_nExtraValue3;
        ar << m_sExtraText;
        DWORD nCount = (DWORD)m_arrChildren.GetSize();
        ar << nCount;
        return nCount;
    }
    m_pParentNode = NULL;
    DWORD dwBasic = 0, dwEffective = 0, dwFlags = 0, dwLParam = 0, dwExtra1 = 0, dwExtra2 = 0, dwExtra3 = 0;
    ar >> dwBasic >> dwEffective >> dwFlags;
    m_nCmdIdBasic = dwBasic;
    m_nCmdIdEffective = dwEffective;
    m_dwFlags = dwFlags;
    ar >> m_sTextInToolbar >> m_sTextInMenu >> m_sTextUser;
    ar >> dwLParam >> dwExtra1 >> dwExtra2 >> dwExtra3;
    m_nLParam = dwLParam;
    m_nExtraValue1 = (int)dwExtra1;
    m_nExtraValue2 = (int)dwExtra2;
    m_nExtraValue3 = (int)dwExtra3;
    ar >> m_sExtraText;
    DWORD nCount = 0;
    ar >> nCount;
    RemoveNodes();
    return nCount;
}

// Trees are walked with an explicit stack rather than by recursion: a stored tree comes
// from a file, and its depth is whatever the file says.
void CExtCustomizeCmdTreeNode::Serialize(CArchive& ar)
{
    CObject::Serialize(ar);
    struct Frame
    {
        CExtCustomizeCmdTreeNode* pNode;
        DWORD nLeft;  // children still to store or load
    };
    std::vector<Frame> stack;
    if (ar.IsStoring())
    {
        stack.push_back(Frame{this, SerializeHead(ar)});
        while (!stack.empty())
        {
            Frame& top = stack.back();
            if (top.nLeft == 0)
            {
                top.pNode->m_iconCustomized.Serialize(ar);
                stack.pop_back();
                continue;
            }
            CExtCustomizeCmdTreeNode* pChild = top.pNode->m_arrChildren[top.pNode->GetNodeCount() - (int)top.nLeft];
            top.nLeft--;
            // The class record, then the child's own layout: a tree never shares a node,
            // so no object references are written (and none can be read back).
            ar.WriteClass(pChild->GetRuntimeClass());
            stack.push_back(Frame{pChild, pChild->SerializeHead(ar)});
        }
        return;
    }
    // Loading: each frame above the first holds a child not yet attached to its parent,
    // so a failure deletes exactly the half-loaded nodes and nothing the caller owns.
    try
    {
        stack.push_back(Frame{this, SerializeHead(ar)});
        while (!stack.empty())
        {
            Frame& top = stack.back();
            if (top.nLeft == 0)
            {
                CExtCustomizeCmdTreeNode* pDone = top.pNode;
                pDone->m_iconCustomized.Serialize(ar);
                stack.pop_back();
                if (!stack.empty())
                    stack.back().pNode->InsertNode(NULL, pDone);
                continue;
            }
            top.nLeft--;
            if (ar.GetLoadDepth() + stack.size() >= CArchive::nMaxObjectDepth)
                AfxThrowArchiveException(CArchiveException::genericException, ar.m_strFileName);
            UINT nSchema = 0;
            CRuntimeClass* pClass = ar.ReadClass(RUNTIME_CLASS(CExtCustomizeCmdTreeNode), &nSchema);
            CObject* pObject = (pClass != NULL) ? pClass->CreateObject() : NULL;
            CExtCustomizeCmdTreeNode* pChild = DYNAMIC_DOWNCAST(CExtCustomizeCmdTreeNode, pObject);
            if (pChild == NULL)
            {
                delete pObject;
                AfxThrowArchiveException(CArchiveException::badClass, ar.m_strFileName);
            }
            stack.push_back(Frame{pChild, 0});
            ar.SetObjectSchema(nSchema);
            stack.back().nLeft = pChild->SerializeHead(ar);
        }
    }
    catch (...)
    {
        for (size_t i = stack.size(); i-- > 1;)
            DeleteTree(stack[i].pNode);
        throw;
    }
}

// Deletes a node and everything below it without recursing through the destructors.
void CExtCustomizeCmdTreeNode::DeleteTree(CExtCustomizeCmdTreeNode* pNode)
{
    std::vector<CExtCustomizeCmdTreeNode*> pending;
    if (pNode != NULL)
        pending.push_back(pNode);
    while (!pending.empty())
    {
        CExtCustomizeCmdTreeNode* p = pending.back();
        pending.pop_back();
        for (INT_PTR i = 0; i < p->m_arrChildren.GetSize(); i++)
        {
            if (p->m_arrChildren[i] != NULL)
            {
                p->m_arrChildren[i]->m_pParentNode = NULL;
                pending.push_back(p->m_arrChildren[i]);
            }
        }
        p->m_arrChildren.RemoveAll();
        delete p;
    }
}

void CExtCustomizeCmdTreeNode::AssignFrom(const CExtCustomizeCmdTreeNode& other)
{
    if (&other == this)
        return;
    RemoveNodes();
    m_nCmdIdBasic = other.m_nCmdIdBasic;
    m_nCmdIdEffective = other.m_nCmdIdEffective;
    m_dwFlags = other.m_dwFlags;
    m_sTextInToolbar = other.m_sTextInToolbar;
    m_sTextInMenu = other.m_sTextInMenu;
    m_sTextUser = other.m_sTextUser;
    m_nLParam = other.m_nLParam;
    if (other.m_iconCustomized.IsEmpty())
        m_iconCustomized.Empty();
    else
        m_iconCustomized.AssignFrom(other.m_iconCustomized);
    m_nExtraValue1 = other.m_nExtraValue1;
    m_nExtraValue2 = other.m_nExtraValue2;
    m_nExtraValue3 = other.m_nExtraValue3;
    m_sExtraText = other.m_sExtraText;
    for (INT_PTR i = 0; i < other.m_arrChildren.GetSize(); i++)
    {
        const CExtCustomizeCmdTreeNode* pSrc = other.m_arrChildren[i];
        CMemFile file;
        {
            CArchive ar(&file, CArchive::store);
            const_cast<CExtCustomizeCmdTreeNode*>(pSrc)->Serialize(ar);
            ar.Close();
        }
        file.SeekToBegin();
        CObject* pObject = pSrc->GetRuntimeClass()->CreateObject();
        CExtCustomizeCmdTreeNode* pCopy = DYNAMIC_DOWNCAST(CExtCustomizeCmdTreeNode, pObject);
        if (pCopy == NULL)
        {
            delete pObject;
            continue;
        }
        try
        {
            CArchive ar(&file, CArchive::load);
            pCopy->Serialize(ar);
        }
        catch (...)
        {
            DeleteTree(pCopy);
            throw;
        }
        pCopy->m_pParentNode = this;
        m_arrChildren.Add(pCopy);
    }
}

void CExtCustomizeCmdTreeNode::AssignFromCmdItem(const CExtCmdItem& cmd, const CExtCmdIcon* pIcon)
{
    m_nCmdIdBasic = m_nCmdIdEffective = cmd.m_nCmdID;
    m_sTextInToolbar = cmd.m_sToolbarText;
    m_sTextInMenu = cmd.m_sMenuText;
    if (pIcon != NULL && !pIcon->IsEmpty())
        m_iconCustomized.AssignFrom(*pIcon);
    else
        m_iconCustomized.Empty();
    m_nLParam = cmd.m_nLParam;
    m_nExtraValue1 = cmd.m_nExtraValue1;
    m_nExtraValue2 = cmd.m_nExtraValue2;
    m_nExtraValue3 = cmd.m_nExtraValue3;

    const DWORD s = cmd.m_dwStateFlags;
    DWORD& f = m_dwFlags;
    if (AllSet(s, 0x00001400))
    {
        f |= 0x00002800;
        f &= ~DWORD(0x00080000);
    }
    else if (AllSet(s, 0x10000400))
    {
        f |= 0x00080800;
        f &= ~DWORD(0x00002000);
    }
    else if ((s & 0x00000400) != 0)
    {
        f |= 0x00000800;
        f &= ~DWORD(0x00082000);
    }
    else
        f &= ~DWORD(0x00086800);
    SetOrClear(f, 0x00001000, (s & 0x00000800) != 0);
    if ((s & 0x00002000) != 0 && (f & 0x00082800) != 0)
        f |= 0x00004000;
    SetOrClear(f, 0x00100000, (s & 0x20000000) != 0);
    SetOrClear(f, 0x00008000, (s & 0x00004000) != 0);
    SetOrClear(f, 0x00010000, (s & 0x00008000) != 0);
    SetOrClear(f, 0x00020000, (s & 0x00010000) != 0);
    static const DWORD g_arrSetOnly[][2] = {
        {0x00020000, 0x00000040}, {0x00040000, 0x00000080}, {0x00080000, 0x00000100},
        {0x00100000, 0x00000200}, {0x00200000, 0x00040000}, {0x00000100, 0x00000004},
    };
    for (size_t i = 0; i < sizeof(g_arrSetOnly) / sizeof(g_arrSetOnly[0]); i++)
        if ((s & g_arrSetOnly[i][0]) != 0)
            f |= g_arrSetOnly[i][1];
}

UINT CExtCustomizeCmdTreeNode::GetCmdID(bool bEffective) const
{
    return bEffective ? m_nCmdIdEffective : m_nCmdIdBasic;
}

UINT CExtCustomizeCmdTreeNode::SetCmdID(UINT nCmdID, bool bEffectiveOnly)
{
    UINT nOld = m_nCmdIdEffective;
    m_nCmdIdEffective = nCmdID;
    if (!bEffectiveOnly)
        m_nCmdIdBasic = nCmdID;
    return nOld;
}

DWORD CExtCustomizeCmdTreeNode::GetFlags() const { return m_dwFlags; }

DWORD CExtCustomizeCmdTreeNode::ModifyFlags(DWORD dwAdd, DWORD dwRemove)
{
    DWORD dwOld = m_dwFlags;
    m_dwFlags = (m_dwFlags | dwAdd) & ~dwRemove;
    return dwOld;
}

bool CExtCustomizeCmdTreeNode::CanShowIcon(CExtCmdItem* pCmdItem)
{
    if (AllSet(m_dwFlags, 0x00002800) || AllSet(m_dwFlags, 0x00080800) || (m_dwFlags & 0x00008000) != 0 ||
        (m_dwFlags & 0x00100000) != 0)
        return false;
    return GetIconPtrInToolbar(pCmdItem, true) != NULL;
}

CExtCmdIcon* CExtCustomizeCmdTreeNode::GetIconPtrCustomized(bool bAllowEmpty, CExtCmdItem* pCmdItem)
{
    CExtCmdIcon* pIcon = GetIconPtrInToolbar(pCmdItem, true);
    if (pIcon == NULL)
        return NULL;
    if (pCmdItem != NULL && (pCmdItem->m_dwStateFlags & 0x00000200) != 0)
        return pIcon;
    if (m_iconCustomized.IsEmpty() && !bAllowEmpty)
        return NULL;
    return &m_iconCustomized;
}

CExtCmdIcon* CExtCustomizeCmdTreeNode::GetIconPtrInToolbar(CExtCmdItem* pCmdItem, bool bCmdIconFirst)
{
    CExtCmdIcon* pCmdIcon = ItemIconPtr(pCmdItem);
    if (bCmdIconFirst && pCmdIcon != NULL)
        return pCmdIcon;
    if ((m_dwFlags & __ECTN_DISPLAY_MASK) == 2)
        return NULL;
    if (pCmdItem != NULL && (pCmdItem->m_dwStateFlags & 0x00000200) != 0)
        bCmdIconFirst = true;
    if (!m_iconCustomized.IsEmpty() && !bCmdIconFirst)
        return &m_iconCustomized;
    return pCmdIcon;
}

CExtCmdIcon* CExtCustomizeCmdTreeNode::GetIconPtrInMenu(CExtCmdItem* pCmdItem, bool bCmdIconFirst)
{
    CExtCmdIcon* pCmdIcon = ItemIconPtr(pCmdItem);
    if (bCmdIconFirst && pCmdIcon != NULL)
        return pCmdIcon;
    DWORD dwStyle = m_dwFlags & __ECTN_DISPLAY_MASK;
    if (dwStyle == 1 || dwStyle == 2)
        return NULL;
    if (pCmdItem != NULL && (pCmdItem->m_dwStateFlags & 0x00000200) != 0)
        bCmdIconFirst = true;
    if (!m_iconCustomized.IsEmpty() && !bCmdIconFirst)
        return &m_iconCustomized;
    return pCmdIcon;
}

void CExtCustomizeCmdTreeNode::ResetIcon() { m_iconCustomized.Empty(); }

LPCTSTR CExtCustomizeCmdTreeNode::GetTextInToolbar(CExtCmdItem* pCmdItem, bool bForce)
{
    if (!bForce)
    {
        DWORD dwStyle = m_dwFlags & __ECTN_DISPLAY_MASK;
        if ((dwStyle == 0 || dwStyle == 1) && GetIconPtrInToolbar(pCmdItem, false) != NULL)
            return "";
    }
    return FirstNonEmptyText(m_sTextInToolbar, m_sTextInMenu, pCmdItem != NULL ? &pCmdItem->m_sToolbarText : NULL,
                             pCmdItem != NULL ? &pCmdItem->m_sMenuText : NULL);
}

void CExtCustomizeCmdTreeNode::SetTextInToolbar(LPCTSTR sText) { m_sTextInToolbar = (sText != NULL) ? sText : ""; }

LPCTSTR CExtCustomizeCmdTreeNode::GetTextInMenu(CExtCmdItem* pCmdItem)
{
    return FirstNonEmptyText(m_sTextInMenu, m_sTextInToolbar, pCmdItem != NULL ? &pCmdItem->m_sMenuText : NULL,
                             pCmdItem != NULL ? &pCmdItem->m_sToolbarText : NULL);
}

void CExtCustomizeCmdTreeNode::SetTextInMenu(LPCTSTR sText) { m_sTextInMenu = (sText != NULL) ? sText : ""; }

LPCTSTR CExtCustomizeCmdTreeNode::GetTextUser() const { return m_sTextUser; }

void CExtCustomizeCmdTreeNode::SetTextUser(LPCTSTR sText) { m_sTextUser = (sText != NULL) ? sText : ""; }

DWORD CExtCustomizeCmdTreeNode::GetLParam() const { return m_nLParam; }

DWORD CExtCustomizeCmdTreeNode::SetLParam(DWORD nLParam)
{
    DWORD nOld = m_nLParam;
    m_nLParam = nLParam;
    return nOld;
}

CExtCustomizeCmdTreeNode* CExtCustomizeCmdTreeNode::GetParentNode() { return m_pParentNode; }

CExtCustomizeCmdTreeNode* CExtCustomizeCmdTreeNode::SetParentNode(CExtCustomizeCmdTreeNode* pParentNode)
{
    CExtCustomizeCmdTreeNode* pOld = m_pParentNode;
    m_pParentNode = pParentNode;
    return pOld;
}

CExtCustomizeCmdTreeNode* CExtCustomizeCmdTreeNode::MakeNode(CExtCustomizeSite* pSite) const
{
    if (pSite != NULL)
        return pSite->OnCmdNodeCreate();
    CObject* pObject = GetRuntimeClass()->CreateObject();
    CExtCustomizeCmdTreeNode* pNode = DYNAMIC_DOWNCAST(CExtCustomizeCmdTreeNode, pObject);
    if (pNode == NULL)
    {
        delete pObject;
        pNode = new CExtCustomizeCmdTreeNode;
    }
    return pNode;
}

int CExtCustomizeCmdTreeNode::AssignChildren(CExtCustomizeSite* pSite, const CExtCustomizeCmdTreeNode& other)
{
    if (&other == this)
        return GetNodeCount();
    RemoveNodes();
    for (INT_PTR i = 0; i < other.m_arrChildren.GetSize(); i++)
    {
        CExtCustomizeCmdTreeNode* pClone = other.m_arrChildren[i]->CloneNode(pSite, true);
        if (pClone != NULL)
            InsertNode(pSite, pClone);
    }
    return GetNodeCount();
}

CExtCustomizeCmdTreeNode* CExtCustomizeCmdTreeNode::CloneNode(CExtCustomizeSite* pSite, bool bDeep) const
{
    CExtCustomizeCmdTreeNode* pNode = MakeNode(pSite);
    if (pNode == NULL)
        return NULL;
    pNode->m_nCmdIdBasic = m_nCmdIdBasic;
    pNode->m_nCmdIdEffective = m_nCmdIdEffective;
    pNode->m_pParentNode = NULL;
    pNode->m_dwFlags = m_dwFlags;
    pNode->m_sTextInToolbar = m_sTextInToolbar;
    pNode->m_sTextInMenu = m_sTextInMenu;
    pNode->m_sTextUser = m_sTextUser;
    pNode->m_nLParam = m_nLParam;
    if (m_iconCustomized.IsEmpty())
        pNode->m_iconCustomized.Empty();
    else
        pNode->m_iconCustomized.AssignFrom(m_iconCustomized);
    pNode->m_nExtraValue1 = m_nExtraValue1;
    pNode->m_nExtraValue2 = m_nExtraValue2;
    pNode->m_nExtraValue3 = m_nExtraValue3;
    if (bDeep)
        pNode->AssignChildren(pSite, *this);
    return pNode;
}

bool CExtCustomizeCmdTreeNode::LoadMenuTree(CWnd* pWnd, CExtCustomizeSite* pSite, CMenu* pMenu, bool bPopupMenu)
{
    HMENU hMenu = (pMenu != NULL) ? pMenu->GetSafeHmenu() : NULL;
    if (hMenu == NULL || !::IsMenu(hMenu))
        return false;
    LPCTSTR sProfileName = g_CommandManager->ProfileNameFromWnd((pWnd != NULL) ? pWnd->GetSafeHwnd() : NULL);
    if (sProfileName == NULL)
        return false;
    CExtCmdProfile* pProfile = g_CommandManager->ProfileGetPtr(sProfileName);
    if (pProfile == NULL)
        return false;
    RemoveNodes();
    bool bGroupStart = false;
    int nCount = ::GetMenuItemCount(hMenu);
    for (int nPos = 0; nPos < nCount; nPos++)
    {
        TCHAR sText[kMenuTextBufferSize + 1];
        memset(sText, 0, sizeof(sText));
        MENUITEMINFO mii;
        memset(&mii, 0, sizeof(mii));
        mii.cbSize = sizeof(mii);
        mii.fMask = MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_TYPE | MIIM_DATA;
        mii.dwTypeData = sText;
        mii.cch = kMenuTextBufferSize;
        if (!::GetMenuItemInfo(hMenu, (UINT)nPos, TRUE, &mii))
            continue;
        if ((mii.fType & MFT_SEPARATOR) != 0)
        {
            if (nPos > 0)
                bGroupStart = true;
            continue;
        }
        CString sItemText = sText;
        int nTab = sItemText.Find('\t');
        if (nTab >= 0)
            sItemText = sItemText.Left(nTab);
        if (mii.hSubMenu == NULL)
        {
            if (!CExtCmdManager::IsCommand(mii.wID))
                continue;
            CExtCmdItem* pCmdItem = pProfile->CmdGetPtr(mii.wID);
            if (pCmdItem == NULL)
                continue;
            CExtCustomizeCmdTreeNode* pNode =
                (pSite != NULL) ? pSite->OnCmdNodeCreate(mii.wID, mii.wID)
                                : new CExtCustomizeCmdTreeNode(mii.wID, mii.wID, NULL, 0, NULL, NULL, NULL, 0, NULL,
                                                               100, -2, 250);
            if (pNode == NULL)
                continue;
            pNode->AssignFromCmdItem(*pCmdItem);
            if (bGroupStart)
                pNode->ModifyFlags(__ECTN_GROUP_START);
            bGroupStart = false;
            InsertNode(pSite, pNode);
            continue;
        }
        CExtCmdItem* pCmdItem = pProfile->CmdAllocPtr(0);
        if (pCmdItem == NULL)
            continue;
        pCmdItem->SetBasicCommand(true);
        pCmdItem->SetStateBit8(true);
        pCmdItem->m_sMenuText = sItemText;
        UINT nNewID = pCmdItem->m_nCmdID;
        CExtCustomizeCmdTreeNode* pNode =
            (pSite != NULL) ? pSite->OnCmdNodeCreate(nNewID, nNewID)
                            : new CExtCustomizeCmdTreeNode(nNewID, nNewID, NULL, 0, NULL, NULL, NULL, 0, NULL, 100,
                                                           -2, 250);
        if (pNode == NULL)
            continue;
        pNode->AssignFromCmdItem(*pCmdItem);
        pNode->ModifyFlags(__ECTN_FROM_SUBMENU | (bGroupStart ? DWORD(__ECTN_GROUP_START) : 0));
        bGroupStart = false;
        InsertNode(pSite, pNode);
        CMenu* pSubMenu = CMenu::FromHandle(mii.hSubMenu);
        pNode->LoadMenuTree(pWnd, pSite, pSubMenu, bPopupMenu);
    }
    return true;
}

int CExtCustomizeCmdTreeNode::InsertNode(CExtCustomizeSite* pSite, CExtCustomizeCmdTreeNode* pNode)
{
    return InsertNode(pSite, pNode, -1);
}

int CExtCustomizeCmdTreeNode::InsertNode(CExtCustomizeSite* pSite, CExtCustomizeCmdTreeNode* pNode, int nPos)
{
    if (pNode == NULL)
        return -1;
    int nCount = GetNodeCount();
    if (nPos < 0 || nPos > nCount)
        nPos = nCount;
    m_arrChildren.InsertAt(nPos, pNode);
    pNode->m_pParentNode = this;
    m_dwFlags |= __ECTN_AUTO_POPUP;
    if (pSite != NULL)
        pSite->OnCmdNodeInserted(pNode);
    return nPos;
}

int CExtCustomizeCmdTreeNode::RemoveNodes(int nStart, int nCount)
{
    int nTotal = GetNodeCount();
    if (nStart < 0 || nStart >= nTotal)
        return 0;
    if (nCount < 0 || nCount > nTotal - nStart)
        nCount = nTotal - nStart;
    if (nCount == 0)
        return 0;
    for (int i = 0; i < nCount; i++)
    {
        CExtCustomizeCmdTreeNode* pChild = m_arrChildren[nStart + i];
        m_arrChildren[nStart + i] = NULL;
        if (pChild != NULL)
        {
            pChild->m_pParentNode = NULL;
            DeleteTree(pChild);
        }
    }
    m_arrChildren.RemoveAt(nStart, nCount);
    return nCount;
}

void CExtCustomizeCmdTreeNode::RemoveSelf(bool bFixSeparator)
{
    CExtCustomizeCmdTreeNode* pParent = m_pParentNode;
    if (pParent == NULL)
        return;
    int nIndex = pParent->GetOwnIndex(this);
    if (nIndex < 0)
        return;
    if (bFixSeparator && nIndex + 1 < pParent->GetNodeCount())
        pParent->m_arrChildren[nIndex + 1]->m_dwFlags &= ~DWORD(__ECTN_GROUP_START);
    pParent->RemoveNodes(nIndex, 1);  // deletes this node
}

int CExtCustomizeCmdTreeNode::SwapNodes(int nIdx1, int nIdx2, DWORD dwFlagsMask)
{
    int nCount = GetNodeCount();
    if (nIdx1 < 0 || nIdx1 >= nCount || nIdx2 < 0 || nIdx2 >= nCount)
        AfxThrowInvalidArgException();
    if (nIdx1 == nIdx2)
        return nIdx2;
    CExtCustomizeCmdTreeNode* p1 = m_arrChildren[nIdx1];
    CExtCustomizeCmdTreeNode* p2 = m_arrChildren[nIdx2];
    DWORD dw1 = p1->m_dwFlags & dwFlagsMask;
    DWORD dw2 = p2->m_dwFlags & dwFlagsMask;
    p1->m_dwFlags = (p1->m_dwFlags & ~dwFlagsMask) | dw2;
    p2->m_dwFlags = (p2->m_dwFlags & ~dwFlagsMask) | dw1;
    m_arrChildren[nIdx1] = p2;
    m_arrChildren[nIdx2] = p1;
    return nIdx2;
}

int CExtCustomizeCmdTreeNode::GetNodeCount() const { return (int)m_arrChildren.GetSize(); }

CExtCustomizeCmdTreeNode* CExtCustomizeCmdTreeNode::ElementAt(int nPos) const
{
    if (nPos < 0 || nPos >= GetNodeCount())
        AfxThrowInvalidArgException();
    return m_arrChildren[nPos];
}

int CExtCustomizeCmdTreeNode::GetOwnIndex(const CExtCustomizeCmdTreeNode* pNode) const
{
    for (int i = 0; i < GetNodeCount(); i++)
        if (m_arrChildren[i] == pNode)
            return i;
    return -1;
}

int CExtCustomizeCmdTreeNode::GetIndexInParent() const
{
    return (m_pParentNode != NULL) ? m_pParentNode->GetOwnIndex(this) : -1;
}

int CExtCustomizeCmdTreeNode::RemoveCmdIdRange(UINT nCmdIdFrom, UINT nCmdIdTo, bool bEffective, bool bDeep)
{
    int nRemoved = 0;
    for (int i = GetNodeCount() - 1; i >= 0; i--)
    {
        CExtCustomizeCmdTreeNode* pChild = m_arrChildren[i];
        UINT nID = pChild->GetCmdID(bEffective);
        if (nID >= nCmdIdFrom && nID <= nCmdIdTo)
            nRemoved += RemoveNodes(i, 1);
        else if (bDeep)
            nRemoved += pChild->RemoveCmdIdRange(nCmdIdFrom, nCmdIdTo, bEffective, true);
    }
    return nRemoved;
}

const CString& CExtCustomizeCmdTreeNode::TextByKind(int nWhich) const
{
    switch (nWhich)
    {
    case 0: return m_sTextInToolbar;
    case 2: return m_sTextUser;
    default: return m_sTextInMenu;
    }
}

int CExtCustomizeCmdTreeNode::SearchNodeByText(LPCTSTR sText, int nWhich, int nStart) const
{
    if (sText == NULL)
        sText = "";
    int nCount = GetNodeCount();
    int nFrom = (nStart >= 0 && nStart < nCount) ? nStart + 1 : 0;
    for (int i = nFrom; i < nCount; i++)
        if (m_arrChildren[i]->TextByKind(nWhich) == sText)
            return i;
    return -1;
}

int CExtCustomizeCmdTreeNode::SearchNodeByCmdID(UINT nCmdID, int nStart, bool bEffective) const
{
    int nCount = GetNodeCount();
    int nFrom = (nStart >= 0 && nStart < nCount) ? nStart + 1 : 0;
    for (int i = nFrom; i < nCount; i++)
        if (m_arrChildren[i]->GetCmdID(bEffective) == nCmdID)
            return i;
    return -1;
}

int CExtCustomizeCmdTreeNode::SearchNodeBackwardByText(LPCTSTR sText, int nWhich, int nStart) const
{
    if (sText == NULL)
        sText = "";
    int nCount = GetNodeCount();
    int nFrom = (nStart >= 0 && nStart < nCount) ? nStart - 1 : nCount - 1;
    for (int i = nFrom; i >= 0; i--)
        if (m_arrChildren[i]->TextByKind(nWhich) == sText)
            return i;
    return -1;
}

int CExtCustomizeCmdTreeNode::SearchNodeBackwardByCmdID(UINT nCmdID, int nStart, bool bEffective) const
{
    int nCount = GetNodeCount();
    int nFrom = (nStart >= 0 && nStart < nCount) ? nStart - 1 : nCount - 1;
    for (int i = nFrom; i >= 0; i--)
        if (m_arrChildren[i]->GetCmdID(bEffective) == nCmdID)
            return i;
    return -1;
}

bool CExtCustomizeCmdTreeNode::IsAncestorOf(const CExtCustomizeCmdTreeNode* pNode) const
{
    if (pNode == NULL || pNode == this)
        return false;
    for (const CExtCustomizeCmdTreeNode* p = pNode->m_pParentNode; p != NULL; p = p->m_pParentNode)
        if (p == this)
            return true;
    return false;
}

bool CExtCustomizeCmdTreeNode::IsPopupLike() const
{
    return (m_dwFlags & kPopupLikeFlags) != 0 || GetNodeCount() > 0;
}

int CExtCustomizeCmdTreeNode::GetExtraValue1() const { return m_nExtraValue1; }
int CExtCustomizeCmdTreeNode::SetExtraValue1(int nValue) { return m_nExtraValue1 = nValue; }
int CExtCustomizeCmdTreeNode::GetExtraValue3() const { return m_nExtraValue3; }
int CExtCustomizeCmdTreeNode::SetExtraValue3(int nValue) { return m_nExtraValue3 = nValue; }
int CExtCustomizeCmdTreeNode::GetExtraValue2() const { return m_nExtraValue2; }
int CExtCustomizeCmdTreeNode::SetExtraValue2(int nValue) { return m_nExtraValue2 = nValue; }

// ---- the customize site --------------------------------------------------------------

CMap<HWND, HWND, CExtCustomizeSite*, CExtCustomizeSite*> CExtCustomizeSite::g_CustomizeSitesMap(10);
const UINT CExtCustomizeSite::g_nMsgQueryCustomizeSite =
    ::RegisterWindowMessage("CExtCustomizeSite::g_nMsgQueryCustomizeSite");
const UINT CExtCustomizeSite::g_nMsgAssignAccelTable =
    ::RegisterWindowMessage("CExtCustomizeSite::g_nMsgAssignAccelTable");
const UINT CExtCustomizeSite::g_nMsgSyncAccelTable = ::RegisterWindowMessage("CExtCustomizeSite::g_nMsgSyncAccelTable");
const UINT CExtCustomizeSite::g_nMsgSyncContent = ::RegisterWindowMessage("CExtCustomizeSite::g_nMsgSyncContent");
const UINT CExtCustomizeSite::g_nMsgDelayCustomization =
    ::RegisterWindowMessage("CExtCustomizeSite::g_nMsgDelayCustomization");

CExtCustomizeSite::CExtCustomizeSite() : m_dwValue1(0), m_dwValue2(0) {}

CExtCustomizeSite::~CExtCustomizeSite() {}

CExtCustomizeCmdTreeNode* CExtCustomizeSite::OnCmdNodeCreate(UINT nCmdIdBasic, UINT nCmdIdEffective)
{
    return new (std::nothrow) CExtCustomizeCmdTreeNode(nCmdIdBasic, nCmdIdEffective);
}

void CExtCustomizeSite::OnCmdNodeInserted(CExtCustomizeCmdTreeNode*) {}

const void* CExtCustomizeSite::GetCurrentButton() const { return NULL; }

bool CExtCustomizeSite::IsCustomizeMode() const { return false; }

bool CExtCustomizeSite::IsCmdUpdateClaimed(UINT) { return false; }

int CExtCustomizeSite::GetCmdCheckState(UINT) { return 0; }

void CExtCustomizeSite::OnColorMenuPrepare(CExtCustomizeCmdTreeNode*, CString&, CString&, COLORREF&, COLORREF&) {}

CSize CExtCustomizeSite::GetPopupListSize(CExtCustomizeCmdTreeNode*) { return CSize(0, 0); }

bool CExtCustomizeSite::OnPopupListItemDraw(CExtCustomizeCmdTreeNode*, HWND, LPDRAWITEMSTRUCT) { return false; }

bool CExtCustomizeSite::OnPopupListItemMeasure(CExtCustomizeCmdTreeNode*, HWND, LPMEASUREITEMSTRUCT) { return false; }

CRect CExtCustomizeSite::GetPopupListTextMargin(CExtCustomizeCmdTreeNode*) { return CRect(0, 0, 0, 0); }

bool CExtCustomizeSite::OnPopupListSelEndOK(CExtCustomizeCmdTreeNode*, HWND) { return false; }

bool CExtCustomizeSite::OnPopupListSelEndCancel(CExtCustomizeCmdTreeNode*, HWND) { return false; }

bool CExtCustomizeSite::RegisterToolBar(CWnd* pBar)
{
    if (pBar == NULL)
        return false;
    if (!IsToolBarRegistered(pBar))
        m_arrToolBars.Add(pBar);
    return true;
}

bool CExtCustomizeSite::IsToolBarRegistered(CWnd* pBar) const
{
    for (INT_PTR i = 0; i < m_arrToolBars.GetSize(); i++)
        if (m_arrToolBars[i] == pBar)
            return true;
    return false;
}

CExtCmdItem* CExtCustomizeSite::OnCmdPrepare(HWND hWnd, UINT nCmdID)
{
    LPCTSTR sProfile = g_CommandManager->ProfileNameFromWnd(hWnd);
    if (sProfile == NULL || !CExtCmdManager::IsCommand(nCmdID))
        return NULL;
    CExtCmdItem* pCmd = g_CommandManager->CmdGetPtr(sProfile, nCmdID);
    if (pCmd != NULL)
        return pCmd;
    CExtCmdItem cmd(nCmdID);
    cmd.LoadTextsFromResource();
    if (!g_CommandManager->CmdSetup(sProfile, cmd))
        return NULL;
    return g_CommandManager->CmdGetPtr(sProfile, nCmdID);
}

void CExtCustomizeSite::OnToolBarPrepare(CWnd* pBar) { RegisterToolBar(pBar); }

bool CExtCustomizeSite::IsToolBarCustomizable(CWnd* pBar) { return pBar != NULL && IsToolBarRegistered(pBar); }

void CExtCustomizeSite::OnBarStateChanged(CWnd*) {}

bool CExtCustomizeSite::OnBarSetCursor(CWnd*, CPoint) { return false; }

CExtCustomizeCmdTreeNode* CExtCustomizeSite::DraggedNodeGet() { return NULL; }

void CExtCustomizeSite::DropTargetRegister(ICustomizeDropTarget* pTarget)
{
    if (pTarget == NULL)
        return;
    for (int i = 0; i < m_arrDropTargets.GetSize(); i++)
        if (m_arrDropTargets[i] == pTarget)
            return;
    m_arrDropTargets.Add(pTarget);
}

void CExtCustomizeSite::DropTargetUnregister(ICustomizeDropTarget* pTarget)
{
    for (int i = 0; i < m_arrDropTargets.GetSize(); i++)
        if (m_arrDropTargets[i] == pTarget)
        {
            m_arrDropTargets.RemoveAt(i);
            return;
        }
}

bool CExtCustomizeSite::IsCurrentButton(const void* pTBB) const
{
    return pTBB != NULL && pTBB == GetCurrentButton();
}

namespace {

// Control bars and mini dock frames relay nothing of their own; they are skipped when
// the site is asked for. Matched by class name, as the bars live in a later library.
bool IsBarOrMiniDockFrame(CWnd* pWnd)
{
    for (CRuntimeClass* pClass = pWnd->GetRuntimeClass(); pClass != NULL;
         pClass = pClass->GetBaseClass())
    {
        if (strcmp(pClass->m_lpszClassName, "CControlBar") == 0 ||
            strcmp(pClass->m_lpszClassName, "CMiniDockFrameWnd") == 0)
            return true;
        if (pClass == RUNTIME_CLASS(CObject))
            break;
    }
    return false;
}

}  // namespace

CExtCustomizeSite* CExtCustomizeSite::GetCustomizeSite(HWND hWnd)
{
    for (; hWnd != NULL && ::IsWindow(hWnd); hWnd = ::GetParent(hWnd))
    {
        CExtCustomizeSite* pSite = NULL;
        if (g_CustomizeSitesMap.Lookup(hWnd, pSite) && pSite != NULL)
            return pSite;
        CWnd* pWnd = CWnd::FromHandlePermanent(hWnd);
        if (pWnd != NULL && IsBarOrMiniDockFrame(pWnd))
            continue;
        pSite = NULL;
        ::SendMessage(hWnd, g_nMsgQueryCustomizeSite, (WPARAM)&pSite, 0);
        if (pSite != NULL)
            return pSite;
    }
    return NULL;
}
