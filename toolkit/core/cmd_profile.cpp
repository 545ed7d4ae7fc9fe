#include "toolkit/core/cmd_profile.h"
#include "toolkit/core/cmd_manager.h"
#include "toolkit/core/cmd_icon.h"
#include "toolkit/core/bitmap.h"
#include "toolkit/core/resource_manager.h"

#include <commctrl.h>
#include <new>
#include <string.h>

namespace {

const LPCTSTR kRtToolbar = MAKEINTRESOURCE(241);
const UINT kMenuTextBufferSize = 1024;

// The profile owns its items and icons; these delete them and empty the containers.
void DeleteCommands(CExtCmdProfile::cmd_container_t& cmds)
{
    POSITION pos = cmds.GetStartPosition();
    while (pos != NULL)
    {
        UINT nID = 0;
        CExtCmdItem* pItem = NULL;
        cmds.GetNextAssoc(pos, nID, pItem);
        delete pItem;
    }
    cmds.RemoveAll();
}

void DeleteIcons(CExtCmdProfile::icon_container_t& icons)
{
    for (INT_PTR i = 0; i < icons.GetSize(); i++)
        delete icons[i];
    icons.RemoveAll();
}

}  // namespace

CExtCmdProfile::CExtCmdProfile(LPCTSTR sName)
    : m_sName((sName != NULL) ? sName : ""),
      m_nRarelyUsedPercent(10),
      m_nTotalTickCount(0),
      m_cmds(10),
      m_dwProfileData(0)
{
}

CExtCmdProfile::~CExtCmdProfile() { CmdRemoveAll(); }

bool CExtCmdProfile::CmdSetup(const CExtCmdItem& cmd, bool bReplaceOld, bool* pbWasAddedNew)
{
    if (pbWasAddedNew != NULL)
        *pbWasAddedNew = false;
    if ((INT)cmd.m_nCmdID <= 0)
        return false;
    CExtCmdItem* pExisting = NULL;
    if (m_cmds.Lookup(cmd.m_nCmdID, pExisting) && pExisting != NULL)
    {
        if (bReplaceOld)
            pExisting->AssignNonEmpty(cmd);
        else
            pExisting->AssignEmptyOnly(cmd);
        return true;
    }
    CExtCmdItem* pNew = CreateItemCopy(cmd);
    if (pNew == NULL)
        return false;
    pNew->m_pProfile = this;
    m_cmds.SetAt(cmd.m_nCmdID, pNew);
    if (pbWasAddedNew != NULL)
        *pbWasAddedNew = true;
    return true;
}

void CExtCmdProfile::RemoveIconAt(int nIndex)
{
    if (nIndex < 0 || nIndex >= (int)m_icons.GetSize())
        return;
    delete m_icons[nIndex];
    m_icons.RemoveAt(nIndex);
    POSITION pos = m_cmds.GetStartPosition();
    while (pos != NULL)
    {
        UINT nID = 0;
        CExtCmdItem* pItem = NULL;
        m_cmds.GetNextAssoc(pos, nID, pItem);
        if (pItem != NULL && pItem->m_nIconIndex >= nIndex)
            pItem->m_nIconIndex--;
    }
}

bool CExtCmdProfile::CmdRemove(UINT nCmdID, bool* pbWasRemoved)
{
    if (pbWasRemoved != NULL)
        *pbWasRemoved = false;
    if ((INT)nCmdID <= 0)
        return false;
    CExtCmdItem* pItem = NULL;
    if (!m_cmds.Lookup(nCmdID, pItem))
        return true;
    m_cmds.RemoveKey(nCmdID);
    int nIconIndex = (pItem != NULL) ? pItem->m_nIconIndex : -1;
    delete pItem;
    if (pbWasRemoved != NULL)
        *pbWasRemoved = true;
    RemoveIconAt(nIconIndex);
    return true;
}

void CExtCmdProfile::CmdRemoveAll()
{
    DeleteIcons(m_icons);
    DeleteCommands(m_cmds);
}

void CExtCmdProfile::CmdRemoveByMask(DWORD dwStateMask, DWORD dwExStateMask, bool bAllStateBits,
                                     bool bAllExStateBits)
{
    CArray<UINT, UINT> arrIDs;
    POSITION pos = m_cmds.GetStartPosition();
    while (pos != NULL)
    {
        UINT nID = 0;
        CExtCmdItem* pItem = NULL;
        m_cmds.GetNextAssoc(pos, nID, pItem);
        if (pItem == NULL)
            continue;
        DWORD dwState = pItem->m_dwStateFlags & dwStateMask;
        DWORD dwExState = pItem->m_dwExStateFlags & dwExStateMask;
        if (dwState == 0 && dwExState == 0)
            continue;
        if (bAllStateBits && dwState != dwStateMask)
            continue;
        if (bAllExStateBits && dwExState != dwExStateMask)
            continue;
        arrIDs.Add(nID);
    }
    for (INT_PTR i = 0; i < arrIDs.GetSize(); i++)
        CmdRemove(arrIDs[i]);
}

CExtCmdItem* CExtCmdProfile::CmdAllocPtr(UINT nCmdID)
{
    if (nCmdID != 0)
    {
        if (CmdIsRegistered(nCmdID))
            return NULL;
    }
    else
    {
        nCmdID = 65534;
        if (!m_cmds.IsEmpty() && CmdIsRegistered(nCmdID))
        {
            nCmdID = 0;
            for (UINT n = 65533; n >= 1; n--)
            {
                if (!CmdIsRegistered(n))
                {
                    nCmdID = n;
                    break;
                }
            }
            if (nCmdID == 0)
                return NULL;
        }
    }
    CExtCmdItem cmdTemp(nCmdID);
    if (!CmdSetup(cmdTemp))
        return NULL;
    return CmdGetPtr(nCmdID);
}

CExtCmdItem* CExtCmdProfile::CmdGetPtr(UINT nCmdID)
{
    if ((INT)nCmdID <= 0)
        return NULL;
    CExtCmdItem* pItem = NULL;
    if (!m_cmds.Lookup(nCmdID, pItem))
        return NULL;
    return pItem;
}

bool CExtCmdProfile::CmdSetIcon(UINT nCmdID, CExtCmdIcon* pIcon, bool bUseIconObjectInstance)
{
    // With bUseIconObjectInstance the icon object is the profile's from the call on, so
    // every path that does not store it deletes it.
    if ((INT)nCmdID <= 0)
    {
        if (bUseIconObjectInstance)
            delete pIcon;
        return false;
    }
    if (pIcon != NULL && pIcon->IsEmpty())
    {
        if (bUseIconObjectInstance)
            delete pIcon;
        pIcon = NULL;
    }
    CExtCmdItem* pItem = CmdGetPtr(nCmdID);
    if (pItem == NULL)
    {
        if (bUseIconObjectInstance)
            delete pIcon;
        return false;
    }
    if (pIcon != NULL)
    {
        if (pItem->m_nIconIndex >= 0 && pItem->m_nIconIndex < (int)m_icons.GetSize())
        {
            CExtCmdIcon*& pSlot = m_icons[pItem->m_nIconIndex];
            if (bUseIconObjectInstance)
            {
                delete pSlot;
                pSlot = pIcon;
            }
            else if (pSlot != NULL)
                pSlot->AssignFrom(*pIcon);
            else
            {
                pSlot = new (std::nothrow) CExtCmdIcon;
                if (pSlot == NULL)
                    return false;
                pSlot->AssignFrom(*pIcon);
            }
            return true;
        }
        CExtCmdIcon* pStored = pIcon;
        if (!bUseIconObjectInstance)
        {
            pStored = new (std::nothrow) CExtCmdIcon;
            if (pStored == NULL)
                return false;
            pStored->AssignFrom(*pIcon);
        }
        try
        {
            pItem->m_nIconIndex = (int)m_icons.Add(pStored);
        }
        catch (CException* pException)
        {
            pException->Delete();
            delete pStored;
            return false;
        }
        return true;
    }
    if (pItem->m_nIconIndex >= 0)
    {
        int nIndex = pItem->m_nIconIndex;
        pItem->m_nIconIndex = -1;
        RemoveIconAt(nIndex);
    }
    return true;
}

CExtCmdIcon* CExtCmdProfile::CmdGetIconPtr(UINT nCmdID)
{
    CExtCmdItem* pItem = CmdGetPtr(nCmdID);
    if (pItem == NULL || pItem->m_nIconIndex < 0 || pItem->m_nIconIndex >= (int)m_icons.GetSize())
        return NULL;
    return m_icons[pItem->m_nIconIndex];
}

bool CExtCmdProfile::CmdIsRegistered(UINT nCmdID) { return CmdGetPtr(nCmdID) != NULL; }

CExtCmdIcon& CExtCmdProfile::CmdGetIcon(UINT nCmdID)
{
    CExtCmdIcon* pIcon = CmdGetIconPtr(nCmdID);
    if (pIcon != NULL)
        return *pIcon;
    static CExtCmdIcon g_iconEmpty;
    g_iconEmpty.Empty();  // nobody's changes to it outlive the call
    return g_iconEmpty;
}

bool CExtCmdProfile::CmdSetIcon(UINT nCmdID, const CExtCmdIcon& icon)
{
    return CmdSetIcon(nCmdID, const_cast<CExtCmdIcon*>(&icon), false);
}

bool CExtCmdProfile::CmdSetIcon(UINT nCmdID, const CExtBitmap& bmpSrc, const RECT& rcSrc, COLORREF clrTransparent)
{
    CExtCmdIcon icon;
    if (!icon.m_bmpNormal.AssignFromPart(bmpSrc, &rcSrc))
        icon.Empty();
    else if (clrTransparent != COLORREF(-1L))
    {
        icon.m_bmpNormal.Make32();
        icon.m_bmpNormal.SetAlphaForColor(clrTransparent, RGB(0, 0, 0), 0);
    }
    icon.OnContentChanged();
    return CmdSetIcon(nCmdID, &icon, false);
}

bool CExtCmdProfile::CmdSetIcon(UINT nCmdID, HICON hIcon, bool bCopyIcon)
{
    CExtCmdIcon icon;
    icon.AssignFromHICON(hIcon, bCopyIcon);
    return CmdSetIcon(nCmdID, &icon, false);
}

bool CExtCmdProfile::UpdateFromMenuResource(UINT nMenuResourceID, bool bReplaceOld, bool bLoadTips)
{
    CMenu menu;
    if (!g_CurrentResourceManager->LoadMenu(menu, nMenuResourceID))
        return false;
    bool bRet = UpdateFromMenu(menu.GetSafeHmenu(), bReplaceOld, true, bLoadTips);
    menu.DestroyMenu();
    return bRet;
}

bool CExtCmdProfile::UpdateFromMenu(HMENU hMenu, bool bReplaceOld, bool bRecursive, bool bLoadTips)
{
    if (hMenu == NULL || !::IsMenu(hMenu))
        return false;
    int nCount = ::GetMenuItemCount(hMenu);
    for (int nPos = 0; nPos < nCount; nPos++)
    {
        TCHAR sText[kMenuTextBufferSize + 1];
        memset(sText, 0, sizeof(sText));
        MENUITEMINFO mii;
        memset(&mii, 0, sizeof(mii));
        mii.cbSize = sizeof(mii);
        mii.fMask = MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_CHECKMARKS | MIIM_TYPE | MIIM_DATA;
        mii.dwTypeData = sText;
        mii.cch = kMenuTextBufferSize;
        if (!::GetMenuItemInfo(hMenu, (UINT)nPos, TRUE, &mii))
            continue;
        if ((mii.fType & MFT_SEPARATOR) != 0)
            continue;
        if (mii.hSubMenu != NULL)
        {
            if (bRecursive)
                UpdateFromMenu(mii.hSubMenu, bReplaceOld, true, true);
            continue;
        }
        if ((INT)mii.wID <= 0)
            continue;
        CExtCmdItem cmd(mii.wID);
        CString sItemText = sText;
        sItemText.Remove('\n');
        sItemText.Remove('\r');
        sItemText.Trim();
        int nTab = sItemText.Find('\t');
        if (nTab < 0)
            cmd.m_sMenuText = sItemText;
        else
        {
            cmd.m_sMenuText = sItemText.Left(nTab);
            cmd.m_sMenuText.Trim();
            cmd.m_sAccelText = sItemText.Mid(nTab);
            cmd.m_sAccelText.Trim();
        }
        if (bLoadTips)
            cmd.LoadTextsFromResource();
        CmdSetup(cmd, bReplaceOld);
    }
    return true;
}

bool CExtCmdProfile::UpdateFromToolBarResource(LPCTSTR lpszResourceName, UINT** ppCmdArray, INT* pnCmdCount,
                                               bool bReplaceOld, bool bLoadTips, COLORREF clrBmpTransparent)
{
    if (ppCmdArray != NULL)
        *ppCmdArray = NULL;
    if (pnCmdCount != NULL)
        *pnCmdCount = 0;
    HRSRC hRsrcToolbar = NULL, hRsrcBitmap = NULL;
    HINSTANCE hInstToolbar = g_CurrentResourceManager->FindResourceHandle(kRtToolbar, lpszResourceName, NULL,
                                                                          &hRsrcToolbar);
    HINSTANCE hInstBitmap = g_CurrentResourceManager->FindResourceHandle(RT_BITMAP, lpszResourceName, NULL,
                                                                         &hRsrcBitmap);
    if (hInstToolbar == NULL || hRsrcToolbar == NULL || hInstBitmap == NULL || hRsrcBitmap == NULL)
        return false;

    // The toolbar data: WORD version, width, height, count, then one WORD id per item;
    // the ids must lie within the resource.
    CExtResourceMemoryBuffer data;
    if (!data.FromResource(hInstToolbar, hRsrcToolbar) || data.GetSize() < 4 * sizeof(WORD))
        return false;
    const BYTE* p = data.GetBuffer();
    WORD nWidth = (WORD)(p[2] | (p[3] << 8));
    WORD nItemCount = (WORD)(p[6] | (p[7] << 8));
    if ((DWORD)nItemCount * sizeof(WORD) > data.GetSize() - 4 * sizeof(WORD))
        return false;
    const BYTE* pIDs = p + 4 * sizeof(WORD);

    CExtBitmap bmpStrip;
    if (!bmpStrip.LoadFromResource(hInstBitmap, hRsrcBitmap) || !bmpStrip.Make32() || bmpStrip.IsEmpty())
        return false;

    CArray<UINT, UINT> arrIDs;
    int nButton = 0;
    for (WORD i = 0; i < nItemCount; i++)
    {
        UINT nCmdID = (UINT)(WORD)(pIDs[i * 2] | (pIDs[i * 2 + 1] << 8));
        if (nCmdID == 0)
            continue;  // a separator
        arrIDs.Add(nCmdID);
        // Each image takes the strip's full height, whatever height the record states.
        RECT rcPart = {nButton * (int)nWidth, 0, (nButton + 1) * (int)nWidth, (int)bmpStrip.GetSize().cy};
        nButton++;
        CExtCmdIcon* pIcon = new (std::nothrow) CExtCmdIcon;
        if (pIcon == NULL)
            continue;
        if (pIcon->m_bmpNormal.AssignFromPart(bmpStrip, &rcPart) && clrBmpTransparent != COLORREF(-1L))
            pIcon->m_bmpNormal.SetAlphaForColor(clrBmpTransparent, RGB(0, 0, 0), 0);
        pIcon->OnContentChanged();
        if (pIcon->IsEmpty())
        {
            // A button beyond the end of the strip has no image: it is not learned.
            delete pIcon;
            continue;
        }
        CExtCmdItem cmd(nCmdID);
        if (bLoadTips)
            cmd.LoadTextsFromResource();
        if (CmdSetup(cmd, bReplaceOld))
            CmdSetIcon(nCmdID, pIcon, true);
        else
            delete pIcon;
    }
    if (pnCmdCount != NULL)
        *pnCmdCount = (INT)arrIDs.GetSize();
    if (ppCmdArray != NULL && arrIDs.GetSize() > 0)
    {
        UINT* pArray = new (std::nothrow) UINT[arrIDs.GetSize()];
        if (pArray == NULL)
        {
            if (pnCmdCount != NULL)
                *pnCmdCount = 0;
            return false;
        }
        for (INT_PTR i = 0; i < arrIDs.GetSize(); i++)
            pArray[i] = arrIDs[i];
        *ppCmdArray = pArray;
    }
    return true;
}

bool CExtCmdProfile::UpdateFromToolBar(CWnd* pToolBar, bool bReplaceOld, bool bLoadTips)
{
    HWND hWnd = (pToolBar != NULL) ? pToolBar->GetSafeHwnd() : NULL;
    if (hWnd == NULL || !::IsWindow(hWnd))
        return false;
    HIMAGELIST hImageList = (HIMAGELIST)::SendMessage(hWnd, TB_GETIMAGELIST, 0, 0);
    if (hImageList == NULL)
        return false;
    int nCount = (int)::SendMessage(hWnd, TB_BUTTONCOUNT, 0, 0);
    for (int nIndex = 0; nIndex < nCount; nIndex++)
    {
        TBBUTTON tbb;
        memset(&tbb, 0, sizeof(tbb));
        if (!::SendMessage(hWnd, TB_GETBUTTON, (WPARAM)nIndex, (LPARAM)&tbb) || tbb.idCommand == 0)
            continue;
        UINT nCmdID = (UINT)tbb.idCommand;
        TCHAR sText[kMenuTextBufferSize + 1];
        memset(sText, 0, sizeof(sText));
        TBBUTTONINFO tbbi;
        memset(&tbbi, 0, sizeof(tbbi));
        tbbi.cbSize = sizeof(tbbi);
        tbbi.dwMask = TBIF_IMAGE | TBIF_TEXT;
        tbbi.pszText = sText;
        tbbi.cchText = kMenuTextBufferSize;
        int nImage;
        if (::SendMessage(hWnd, TB_GETBUTTONINFO, (WPARAM)nCmdID, (LPARAM)&tbbi) >= 0)
            nImage = tbbi.iImage;
        else
        {
            sText[0] = 0;
            nImage = tbb.iBitmap;  // what the button itself records
        }
        CExtCmdItem cmd(nCmdID);
        cmd.m_sToolbarText = sText;
        if (bLoadTips)
            cmd.LoadTextsFromResource();
        if (!CmdSetup(cmd, bReplaceOld))
            continue;
        CExtCmdItem* pItem = CmdGetPtr(nCmdID);
        if (nImage < 0 || pItem == NULL || pItem->m_nIconIndex >= 0)
            continue;
        HICON hIcon = ImageList_GetIcon(hImageList, nImage, ILD_NORMAL);
        if (hIcon == NULL)
            continue;
        CExtCmdIcon* pIcon = new (std::nothrow) CExtCmdIcon;
        if (pIcon == NULL)
        {
            ::DestroyIcon(hIcon);
            continue;
        }
        pIcon->AssignFromHICON(hIcon, false);
        try
        {
            pItem->m_nIconIndex = (int)m_icons.Add(pIcon);
        }
        catch (CException* pException)
        {
            pException->Delete();
            delete pIcon;
        }
    }
    return true;
}

bool CExtCmdProfile::SetBasicCommands(const UINT* pCommands, bool bOn)
{
    if (pCommands == NULL)
        return false;
    bool bRet = true;
    for (; *pCommands != 0; pCommands++)
    {
        UINT nCmdID = *pCommands;
        if (CExtCmdItem::stat_IsSystemCommand(nCmdID))
        {
            bRet = false;
            continue;
        }
        CExtCmdItem* pItem = CmdGetPtr(nCmdID);
        if (pItem == NULL)
        {
            bRet = false;
            continue;
        }
        pItem->SetBasicCommand(bOn);
    }
    return bRet;
}

#define EXT_PROFILE_FOR_EACH_ITEM(call)                \
    POSITION pos = m_cmds.GetStartPosition();          \
    while (pos != NULL)                                \
    {                                                  \
        UINT nID = 0;                                  \
        CExtCmdItem* pItem = NULL;                     \
        m_cmds.GetNextAssoc(pos, nID, pItem);          \
        if (pItem != NULL)                             \
            pItem->call;                               \
    }

void CExtCmdProfile::OnPaintManagerChanged(CExtPaintManager* pPM) { EXT_PROFILE_FOR_EACH_ITEM(OnPaintManagerChanged(pPM)) }

void CExtCmdProfile::OnSysColorChange(CExtPaintManager* pPM) { EXT_PROFILE_FOR_EACH_ITEM(OnSysColorChange(pPM)) }

void CExtCmdProfile::OnSettingChange(CExtPaintManager* pPM, UINT uFlags, LPCTSTR lpszSection)
{
    EXT_PROFILE_FOR_EACH_ITEM(OnSettingChange(pPM, uFlags, lpszSection))
}

void CExtCmdProfile::OnDisplayChange(CExtPaintManager* pPM, INT nDepthBPP, INT cx, INT cy)
{
    EXT_PROFILE_FOR_EACH_ITEM(OnDisplayChange(pPM, nDepthBPP, cx, cy))
}

void CExtCmdProfile::OnThemeChanged(CExtPaintManager* pPM, WPARAM wParam, LPARAM lParam)
{
    EXT_PROFILE_FOR_EACH_ITEM(OnThemeChanged(pPM, wParam, lParam))
}

void CExtCmdProfile::ResetUsageStatistics()
{
    EXT_PROFILE_FOR_EACH_ITEM(ResetUsage())
    m_nTotalTickCount = 0;
}

void CExtCmdProfile::NormalizeUsage()
{
    if (m_nTotalTickCount < 0xFFFFFFFEUL)
        return;
    m_nTotalTickCount >>= 1;
    POSITION pos = m_cmds.GetStartPosition();
    while (pos != NULL)
    {
        UINT nID = 0;
        CExtCmdItem* pItem = NULL;
        m_cmds.GetNextAssoc(pos, nID, pItem);
        if (pItem != NULL)
            pItem->m_nUsageTickCount >>= 1;
    }
}

#undef EXT_PROFILE_FOR_EACH_ITEM

void CExtCmdProfile::AssignFrom(const CExtCmdProfile& other)
{
    if (&other == this)
        return;
    m_sName = other.m_sName;
    m_nRarelyUsedPercent = other.m_nRarelyUsedPercent;
    m_nTotalTickCount = other.m_nTotalTickCount;
    m_dwProfileData = other.m_dwProfileData;
    DeleteCommands(m_cmds);
    POSITION pos = other.m_cmds.GetStartPosition();
    while (pos != NULL)
    {
        UINT nID = 0;
        CExtCmdItem* pItem = NULL;
        other.m_cmds.GetNextAssoc(pos, nID, pItem);
        if (pItem == NULL)
            continue;
        CExtCmdItem* pCopy = CreateItemCopy(*pItem);
        if (pCopy == NULL)
            continue;
        pCopy->m_pProfile = this;
        m_cmds.SetAt(nID, pCopy);
    }
    DeleteIcons(m_icons);
    for (INT_PTR i = 0; i < other.m_icons.GetSize(); i++)
    {
        CExtCmdIcon* pCopy = new (std::nothrow) CExtCmdIcon;
        if (pCopy != NULL && other.m_icons[i] != NULL)
            pCopy->AssignFrom(*other.m_icons[i]);
        m_icons.Add(pCopy);  // keeps the indices of the copied items valid
    }
}

CExtCmdItem* CExtCmdProfile::CreateItemCopy(const CExtCmdItem& cmd)
{
    return new (std::nothrow) CExtCmdItem(cmd);
}
