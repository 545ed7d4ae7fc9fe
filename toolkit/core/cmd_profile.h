// Command profiles: a named set of command items keyed by id, the command icons those
// items point to, the usage total and the threshold for rarely used commands. A profile
// learns commands from menus, toolbar resources and live toolbars, and can store and
// restore its usage statistics (not its commands) in an archive or the registry.
#pragma once
#include "framework/framework.h"
#include "toolkit/core/cmd_item.h"

class CExtCmdIcon;
class CExtBitmap;
class CExtPaintManager;

class CExtCmdProfile
{
public:
    typedef CMap<UINT, UINT, CExtCmdItem*, CExtCmdItem*> cmd_container_t;
    typedef CArray<CExtCmdIcon*, CExtCmdIcon*> icon_container_t;

    explicit CExtCmdProfile(LPCTSTR sName = NULL);

    virtual ~CExtCmdProfile();
    virtual bool CmdSetup(const CExtCmdItem& cmd, bool bReplaceOld = false, bool* pbWasAddedNew = NULL);
    virtual bool CmdRemove(UINT nCmdID, bool* pbWasRemoved = NULL);
    virtual void CmdRemoveAll();
    virtual void CmdRemoveByMask(DWORD dwStateMask, DWORD dwExStateMask = 0, bool bAllStateBits = false,
                                 bool bAllExStateBits = false);
    virtual CExtCmdItem* CmdAllocPtr(UINT nCmdID = 0);
    virtual CExtCmdItem* CmdGetPtr(UINT nCmdID);
    virtual bool CmdSetIcon(UINT nCmdID, CExtCmdIcon* pIcon, bool bUseIconObjectInstance);
    virtual CExtCmdIcon* CmdGetIconPtr(UINT nCmdID);
    virtual bool CmdIsRegistered(UINT nCmdID);
    virtual bool UpdateFromMenuResource(UINT nMenuResourceID, bool bReplaceOld = false, bool bLoadTips = true);
    virtual bool UpdateFromMenu(HMENU hMenu, bool bReplaceOld = false, bool bRecursive = true,
                                bool bLoadTips = true);
    virtual bool UpdateFromToolBarResource(LPCTSTR lpszResourceName, UINT** ppCmdArray = NULL,
                                           INT* pnCmdCount = NULL, bool bReplaceOld = false,
                                           bool bLoadTips = true, COLORREF clrBmpTransparent = COLORREF(-1L));
    virtual bool UpdateFromToolBar(CWnd* pToolBar, bool bReplaceOld = false, bool bLoadTips = true);
    virtual bool SetBasicCommands(const UINT* pCommands, bool bOn = true);
    virtual bool SerializeState(CArchive& ar, bool bEnableThrowExceptions = false);
    virtual bool SerializeStateRegistry(LPCTSTR sSectionNameCompany, LPCTSTR sSectionNameProduct, bool bSave,
                                        HKEY hKeyRoot = HKEY_CURRENT_USER, bool bEnableThrowExceptions = false);
    virtual void OnPaintManagerChanged(CExtPaintManager* pPM);
    virtual void OnSysColorChange(CExtPaintManager* pPM);
    virtual void OnSettingChange(CExtPaintManager* pPM, UINT uFlags, LPCTSTR lpszSection);
    virtual void OnDisplayChange(CExtPaintManager* pPM, INT nDepthBPP, INT cx, INT cy);
    virtual void OnThemeChanged(CExtPaintManager* pPM, WPARAM wParam, LPARAM lParam);
    virtual void ResetUsageStatistics();
    virtual void AssignFrom(const CExtCmdProfile& other);
    virtual CExtCmdItem* CreateItemCopy(const CExtCmdItem& cmd);

    // Never null: the item's icon, or a shared empty icon.
    CExtCmdIcon& CmdGetIcon(UINT nCmdID);
    // The icon is copied; an empty icon removes the item's icon.
    bool CmdSetIcon(UINT nCmdID, const CExtCmdIcon& icon);
    // The icon is cut from the bitmap (clrTransparent -1: none).
    bool CmdSetIcon(UINT nCmdID, const CExtBitmap& bmpSrc, const RECT& rcSrc,
                    COLORREF clrTransparent = COLORREF(-1L));
    bool CmdSetIcon(UINT nCmdID, HICON hIcon, bool bCopyIcon = true);

    // Halves the total and every counter once the total nears the top of its range.
    void NormalizeUsage();
    // The registry key of the profile's statistics, with CR, TAB, LF, "?" and "*" made "_".
    CString GetRegistryKeyPath(LPCTSTR sSectionNameCompany, LPCTSTR sSectionNameProduct) const;

    CString m_sName;
    UINT m_nRarelyUsedPercent;
    UINT m_nTotalTickCount;
    cmd_container_t m_cmds;
    icon_container_t m_icons;
    DWORD m_dwProfileData;

protected:
    // Drops the icon at nIndex and moves the later items' indices down by one.
    void RemoveIconAt(int nIndex);

private:
    CExtCmdProfile(const CExtCmdProfile&) = delete;
    CExtCmdProfile& operator=(const CExtCmdProfile&) = delete;
};
