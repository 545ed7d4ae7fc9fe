// The command manager and its global holder g_CommandManager: the one place where every
// toolkit window finds the texts, icons, state and usage of a command. It owns named
// command profiles and binds windows to them; it starts with the profile "default" and
// passes paint-manager and system changes on to every profile, so that command icons
// rebuild their theme-dependent state images. A NULL profile name means "default".
#pragma once
#include "framework/framework.h"
#include "toolkit/core/cmd_item.h"
#include "toolkit/core/cmd_profile.h"

class CExtPaintManager;
class CExtCmdIcon;
class CExtBitmap;

class CExtCmdManager
{
public:
    typedef CMap<CString, LPCTSTR, CExtCmdProfile*, CExtCmdProfile*> profile_container_t;
    typedef CMap<HWND, HWND, CExtCmdProfile*, CExtCmdProfile*> profile_wnd_container_t;

    CExtCmdManager();
    virtual ~CExtCmdManager();

    virtual void CmdRemoveAll(LPCTSTR sProfileName);
    // Passes a theme change on to every profile (and so every command icon).
    virtual void OnPaintManagerChanged();
    virtual void OnSysColorChange(CExtPaintManager* pPM);
    virtual void OnSettingChange(CExtPaintManager* pPM, UINT uFlags, LPCTSTR lpszSection);
    virtual void OnDisplayChange(CExtPaintManager* pPM, INT nDepthBPP, INT cx, INT cy);
    virtual void OnThemeChanged(CExtPaintManager* pPM, WPARAM wParam, LPARAM lParam);

    // Ids above 0 as signed integers are commands; 0 is a separator, -1 a sub-menu.
    static bool IsCommand(UINT nCmdID) { return (INT)nCmdID > 0; }

    CExtCmdProfile* ProfileGetPtr(LPCTSTR sProfileName);
    bool ProfileSetup(LPCTSTR sProfileName = NULL, HWND hProfileWnd = NULL, CExtCmdProfile* pNewProfile = NULL);
    bool ProfileWndAdd(LPCTSTR sProfileName, HWND hProfileWnd);
    bool ProfileDestroy(LPCTSTR sProfileName, bool bRemoveWndBindings = false);
    LPCTSTR ProfileNameFromWnd(HWND hWnd);

    bool CmdSetup(LPCTSTR sProfileName, const CExtCmdItem& cmd, bool bReplaceOld = false,
                  bool* pbWasAddedNew = NULL);
    bool CmdRemove(LPCTSTR sProfileName, UINT nCmdID, bool* pbWasRemoved = NULL);
    bool CmdRemoveByMask(LPCTSTR sProfileName, DWORD dwStateMask, DWORD dwExStateMask = 0,
                         bool bAllStateBits = false, bool bAllExStateBits = false);
    CExtCmdItem* CmdAllocPtr(LPCTSTR sProfileName, UINT nCmdID = 0);
    CExtCmdItem* CmdGetPtr(LPCTSTR sProfileName, UINT nCmdID);
    bool CmdSetIcon(LPCTSTR sProfileName, UINT nCmdID, const CExtCmdIcon& icon);
    bool CmdSetIconFromBitmap(LPCTSTR sProfileName, UINT nCmdID, const CExtBitmap& bmpSrc, const RECT& rcSrc,
                              COLORREF clrTransparent = COLORREF(-1L));
    bool CmdSetIconFromHICON(LPCTSTR sProfileName, UINT nCmdID, HICON hIcon, bool bCopyIcon = true);
    CExtCmdIcon* CmdGetIconPtr(LPCTSTR sProfileName, UINT nCmdID);
    // Never null: without the profile, a shared empty icon.
    CExtCmdIcon& CmdGetIcon(LPCTSTR sProfileName, UINT nCmdID);
    bool UpdateFromMenu(LPCTSTR sProfileName, HMENU hMenu, bool bReplaceOld = false, bool bRecursive = true,
                        bool bLoadTips = true);
    bool UpdateFromMenuResource(LPCTSTR sProfileName, UINT nMenuResourceID, bool bReplaceOld = false,
                                bool bLoadTips = true);
    bool UpdateFromToolBarResource(LPCTSTR sProfileName, LPCTSTR lpszResourceName, UINT** ppCmdArray = NULL,
                                   INT* pnCmdCount = NULL, bool bReplaceOld = false, bool bLoadTips = true,
                                   COLORREF clrBmpTransparent = COLORREF(-1L));
    bool UpdateFromToolBarResource(LPCTSTR sProfileName, UINT nResourceID, UINT** ppCmdArray = NULL,
                                   INT* pnCmdCount = NULL, bool bReplaceOld = false, bool bLoadTips = true,
                                   COLORREF clrBmpTransparent = COLORREF(-1L));

    // The toolkit version: 0x02050400, or 0x0205 when bShort.
    static DWORD GetVersionDWORD(bool bShort = false);
    // The four bytes of the long version, most significant first: "2.5.4.0" with '.'.
    static void GetVersionString(CString& strOut, TCHAR tchrSeparator = _T('.'));

    // How a window's parent that is a framework control bar leads to its dock site: the
    // bars answer the dock site's window for a control bar that is not a dock bar, NULL
    // for any other window. Left NULL, parents are followed as they are.
    typedef HWND (*PFN_DOCK_SITE_OF_BAR)(HWND hWndBar);
    static PFN_DOCK_SITE_OF_BAR g_pfnDockSiteOfBar;

    profile_container_t m_profiles;
    profile_wnd_container_t m_profile_map;

private:
    CExtCmdManager(const CExtCmdManager&) = delete;
    CExtCmdManager& operator=(const CExtCmdManager&) = delete;
};

class CExtCmdManagerHolder
{
public:
    CExtCmdManagerHolder();
    ~CExtCmdManagerHolder();

    CExtCmdManager* operator->() { return m_pCmdManager; }
    CExtCmdManager* GetCmdManager() { return m_pCmdManager; }

    // The manager's OnPaintManagerChanged; called by the paint-manager holder after it
    // installed a theme and before it tells the windows' bridges.
    void OnPaintManagerChanged();
    // The system changes reach the profiles only through the window that relays them
    // for its frame (see g_pfnIsSystemChangeRelay).
    void OnSysColorChange(CExtPaintManager* pPM, CWnd* pWndNotifySrc);
    void OnSettingChange(CExtPaintManager* pPM, CWnd* pWndNotifySrc, UINT uFlags, LPCTSTR lpszSection);
    void OnDisplayChange(CExtPaintManager* pPM, CWnd* pWndNotifySrc, INT nDepthBPP, INT cx, INT cy);
    void OnThemeChanged(CExtPaintManager* pPM, CWnd* pWndNotifySrc, WPARAM wParam, LPARAM lParam);

    // The theme engine's relay test (the paint-manager holder's IsSystemChangeRelay).
    // Left NULL, every window relays.
    typedef bool (*PFN_IS_SYSTEM_CHANGE_RELAY)(CWnd* pWndNotifySrc);
    static PFN_IS_SYSTEM_CHANGE_RELAY g_pfnIsSystemChangeRelay;

    // Owned; null only when its allocation failed.
    CExtCmdManager* m_pCmdManager;

private:
    bool IsRelay(CWnd* pWndNotifySrc) const;

    CExtCmdManagerHolder(const CExtCmdManagerHolder&) = delete;
    CExtCmdManagerHolder& operator=(const CExtCmdManagerHolder&) = delete;
};

extern CExtCmdManagerHolder g_CommandManager;
