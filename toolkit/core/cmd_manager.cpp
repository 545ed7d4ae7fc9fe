#include "toolkit/core/cmd_manager.h"
#include "toolkit/core/cmd_icon.h"

#include <new>

namespace {

const LPCTSTR kDefaultProfileName = "default";

LPCTSTR ProfileKey(LPCTSTR sProfileName)
{
    return (sProfileName == NULL) ? kDefaultProfileName : sProfileName;
}

}  // namespace

CExtCmdManager::PFN_DOCK_SITE_OF_BAR CExtCmdManager::g_pfnDockSiteOfBar = NULL;
CExtCmdManagerHolder::PFN_IS_SYSTEM_CHANGE_RELAY CExtCmdManagerHolder::g_pfnIsSystemChangeRelay = NULL;

// ---- the toolkit version -------------------------------------------------------------

namespace {

DWORD g_dwToolkitVersion = 0;

}  // namespace

DWORD CExtCmdManager::GetVersionDWORD(bool bShort)
{
    const DWORD dwVersion = 0x02050400UL;
    if (g_dwToolkitVersion == 0)
    {
        // The one lock of the command services: the first store of the version.
        static CCriticalSection g_csVersion;
        CSingleLock lock(&g_csVersion, TRUE);
        if (g_dwToolkitVersion == 0)
            g_dwToolkitVersion = dwVersion;
    }
    return bShort ? (g_dwToolkitVersion >> 16) : g_dwToolkitVersion;
}

void CExtCmdManager::GetVersionString(CString& strOut, TCHAR tchrSeparator)
{
    DWORD dw = GetVersionDWORD(false);
    strOut.Format("%d%c%d%c%d%c%d", (int)((dw >> 24) & 0xFF), tchrSeparator, (int)((dw >> 16) & 0xFF),
                  tchrSeparator, (int)((dw >> 8) & 0xFF), tchrSeparator, (int)(dw & 0xFF));
}

// ---- the manager ---------------------------------------------------------------------

CExtCmdManager::CExtCmdManager() : m_profiles(10), m_profile_map(10)
{
    ProfileSetup(kDefaultProfileName);
}

CExtCmdManager::~CExtCmdManager()
{
    POSITION pos = m_profiles.GetStartPosition();
    while (pos != NULL)
    {
        CString sName;
        CExtCmdProfile* pProfile = NULL;
        m_profiles.GetNextAssoc(pos, sName, pProfile);
        delete pProfile;
    }
    m_profiles.RemoveAll();
    m_profile_map.RemoveAll();
}

void CExtCmdManager::CmdRemoveAll(LPCTSTR sProfileName)
{
    CExtCmdProfile* pProfile = ProfileGetPtr(sProfileName);
    if (pProfile != NULL)
        pProfile->CmdRemoveAll();
}

#define EXT_CMDMGR_FOR_EACH_PROFILE(call)                  \
    POSITION pos = m_profiles.GetStartPosition();          \
    while (pos != NULL)                                    \
    {                                                      \
        CString sName;                                     \
        CExtCmdProfile* pProfile = NULL;                   \
        m_profiles.GetNextAssoc(pos, sName, pProfile);     \
        if (pProfile != NULL)                              \
            pProfile->call;                                \
    }

void CExtCmdManager::OnPaintManagerChanged() { EXT_CMDMGR_FOR_EACH_PROFILE(OnPaintManagerChanged(NULL)) }

void CExtCmdManager::OnSysColorChange(CExtPaintManager* pPM) { EXT_CMDMGR_FOR_EACH_PROFILE(OnSysColorChange(pPM)) }

void CExtCmdManager::OnSettingChange(CExtPaintManager* pPM, UINT uFlags, LPCTSTR lpszSection)
{
    EXT_CMDMGR_FOR_EACH_PROFILE(OnSettingChange(pPM, uFlags, lpszSection))
}

void CExtCmdManager::OnDisplayChange(CExtPaintManager* pPM, INT nDepthBPP, INT cx, INT cy)
{
    EXT_CMDMGR_FOR_EACH_PROFILE(OnDisplayChange(pPM, nDepthBPP, cx, cy))
}

void CExtCmdManager::OnThemeChanged(CExtPaintManager* pPM, WPARAM wParam, LPARAM lParam)
{
    EXT_CMDMGR_FOR_EACH_PROFILE(OnThemeChanged(pPM, wParam, lParam))
}

#undef EXT_CMDMGR_FOR_EACH_PROFILE

CExtCmdProfile* CExtCmdManager::ProfileGetPtr(LPCTSTR sProfileName)
{
    CExtCmdProfile* pProfile = NULL;
    if (!m_profiles.Lookup(ProfileKey(sProfileName), pProfile))
        return NULL;
    return pProfile;
}

bool CExtCmdManager::ProfileSetup(LPCTSTR sProfileName, HWND hProfileWnd, CExtCmdProfile* pNewProfile)
{
    if (sProfileName == NULL || *sProfileName == '\0')
        sProfileName = kDefaultProfileName;
    if (ProfileGetPtr(sProfileName) == NULL)
    {
        CExtCmdProfile* pProfile = pNewProfile;
        if (pProfile == NULL)
        {
            pProfile = new (std::nothrow) CExtCmdProfile(sProfileName);
            if (pProfile == NULL)
                return false;
        }
        m_profiles.SetAt(sProfileName, pProfile);
    }
    if (hProfileWnd != NULL)
        return ProfileWndAdd(sProfileName, hProfileWnd);
    return true;
}

bool CExtCmdManager::ProfileWndAdd(LPCTSTR sProfileName, HWND hProfileWnd)
{
    if (hProfileWnd == NULL)
        return false;
    CExtCmdProfile* pProfile = ProfileGetPtr(sProfileName);
    if (pProfile == NULL)
        return false;
    CExtCmdProfile* pBound = NULL;
    if (m_profile_map.Lookup(hProfileWnd, pBound))
        return true;  // a bound window keeps its profile
    m_profile_map.SetAt(hProfileWnd, pProfile);
    return true;
}

bool CExtCmdManager::ProfileDestroy(LPCTSTR sProfileName, bool bRemoveWndBindings)
{
    if (sProfileName == NULL || *sProfileName == '\0')
        return false;
    CExtCmdProfile* pProfile = ProfileGetPtr(sProfileName);
    if (pProfile == NULL)
        return false;
    CArray<HWND, HWND> arrBound;
    POSITION pos = m_profile_map.GetStartPosition();
    while (pos != NULL)
    {
        HWND hWnd = NULL;
        CExtCmdProfile* pBound = NULL;
        m_profile_map.GetNextAssoc(pos, hWnd, pBound);
        if (pBound == pProfile)
            arrBound.Add(hWnd);
    }
    if (arrBound.GetSize() > 0)
    {
        if (!bRemoveWndBindings)
            return false;
        for (INT_PTR i = 0; i < arrBound.GetSize(); i++)
            m_profile_map.RemoveKey(arrBound[i]);
    }
    m_profiles.RemoveKey(sProfileName);
    delete pProfile;
    return true;
}

LPCTSTR CExtCmdManager::ProfileNameFromWnd(HWND hWnd)
{
    // Bounded: a dock site that leads back into its own bar must not hang the caller.
    for (int nStep = 0; hWnd != NULL && nStep < 1024; nStep++)
    {
        CExtCmdProfile* pProfile = NULL;
        if (m_profile_map.Lookup(hWnd, pProfile) && pProfile != NULL)
            return pProfile->m_sName;
        HWND hWndParent = ::GetParent(hWnd);
        if (hWndParent == NULL)
            return NULL;
        // A floating bar finds the profile of the frame it docks to.
        if (g_pfnDockSiteOfBar != NULL)
        {
            HWND hWndDockSite = g_pfnDockSiteOfBar(hWndParent);
            if (hWndDockSite != NULL)
                hWndParent = hWndDockSite;
        }
        hWnd = hWndParent;
    }
    return NULL;
}

bool CExtCmdManager::CmdSetup(LPCTSTR sProfileName, const CExtCmdItem& cmd, bool bReplaceOld, bool* pbWasAddedNew)
{
    if (pbWasAddedNew != NULL)
        *pbWasAddedNew = false;
    CExtCmdProfile* pProfile = ProfileGetPtr(sProfileName);
    return (pProfile != NULL) ? pProfile->CmdSetup(cmd, bReplaceOld, pbWasAddedNew) : false;
}

bool CExtCmdManager::CmdRemove(LPCTSTR sProfileName, UINT nCmdID, bool* pbWasRemoved)
{
    if (pbWasRemoved != NULL)
        *pbWasRemoved = false;
    CExtCmdProfile* pProfile = ProfileGetPtr(sProfileName);
    return (pProfile != NULL) ? pProfile->CmdRemove(nCmdID, pbWasRemoved) : false;
}

bool CExtCmdManager::CmdRemoveByMask(LPCTSTR sProfileName, DWORD dwStateMask, DWORD dwExStateMask,
                                     bool bAllStateBits, bool bAllExStateBits)
{
    CExtCmdProfile* pProfile = ProfileGetPtr(sProfileName);
    if (pProfile == NULL)
        return false;
    pProfile->CmdRemoveByMask(dwStateMask, dwExStateMask, bAllStateBits, bAllExStateBits);
    return true;
}

CExtCmdItem* CExtCmdManager::CmdAllocPtr(LPCTSTR sProfileName, UINT nCmdID)
{
    CExtCmdProfile* pProfile = ProfileGetPtr(sProfileName);
    return (pProfile != NULL) ? pProfile->CmdAllocPtr(nCmdID) : NULL;
}

CExtCmdItem* CExtCmdManager::CmdGetPtr(LPCTSTR sProfileName, UINT nCmdID)
{
    CExtCmdProfile* pProfile = ProfileGetPtr(sProfileName);
    return (pProfile != NULL) ? pProfile->CmdGetPtr(nCmdID) : NULL;
}

bool CExtCmdManager::CmdSetIcon(LPCTSTR sProfileName, UINT nCmdID, const CExtCmdIcon& icon)
{
    CExtCmdProfile* pProfile = ProfileGetPtr(sProfileName);
    return (pProfile != NULL) ? pProfile->CmdSetIcon(nCmdID, icon) : false;
}

bool CExtCmdManager::CmdSetIconFromBitmap(LPCTSTR sProfileName, UINT nCmdID, const CExtBitmap& bmpSrc,
                                          const RECT& rcSrc, COLORREF clrTransparent)
{
    CExtCmdProfile* pProfile = ProfileGetPtr(sProfileName);
    return (pProfile != NULL) ? pProfile->CmdSetIcon(nCmdID, bmpSrc, rcSrc, clrTransparent) : false;
}

bool CExtCmdManager::CmdSetIconFromHICON(LPCTSTR sProfileName, UINT nCmdID, HICON hIcon, bool bCopyIcon)
{
    CExtCmdProfile* pProfile = ProfileGetPtr(sProfileName);
    return (pProfile != NULL) ? pProfile->CmdSetIcon(nCmdID, hIcon, bCopyIcon) : false;
}

CExtCmdIcon* CExtCmdManager::CmdGetIconPtr(LPCTSTR sProfileName, UINT nCmdID)
{
    CExtCmdProfile* pProfile = ProfileGetPtr(sProfileName);
    return (pProfile != NULL) ? pProfile->CmdGetIconPtr(nCmdID) : NULL;
}

CExtCmdIcon& CExtCmdManager::CmdGetIcon(LPCTSTR sProfileName, UINT nCmdID)
{
    CExtCmdProfile* pProfile = ProfileGetPtr(sProfileName);
    if (pProfile != NULL)
        return pProfile->CmdGetIcon(nCmdID);
    static CExtCmdIcon g_iconEmptyNoProfile;
    g_iconEmptyNoProfile.Empty();  // nobody's changes to it outlive the call
    return g_iconEmptyNoProfile;
}

bool CExtCmdManager::UpdateFromMenu(LPCTSTR sProfileName, HMENU hMenu, bool bReplaceOld, bool bRecursive,
                                    bool bLoadTips)
{
    CExtCmdProfile* pProfile = ProfileGetPtr(sProfileName);
    return (pProfile != NULL) ? pProfile->UpdateFromMenu(hMenu, bReplaceOld, bRecursive, bLoadTips) : false;
}

bool CExtCmdManager::UpdateFromMenuResource(LPCTSTR sProfileName, UINT nMenuResourceID, bool bReplaceOld,
                                            bool bLoadTips)
{
    CExtCmdProfile* pProfile = ProfileGetPtr(sProfileName);
    return (pProfile != NULL) ? pProfile->UpdateFromMenuResource(nMenuResourceID, bReplaceOld, bLoadTips) : false;
}

bool CExtCmdManager::UpdateFromToolBarResource(LPCTSTR sProfileName, LPCTSTR lpszResourceName, UINT** ppCmdArray,
                                               INT* pnCmdCount, bool bReplaceOld, bool bLoadTips,
                                               COLORREF clrBmpTransparent)
{
    CExtCmdProfile* pProfile = ProfileGetPtr(sProfileName);
    return (pProfile != NULL) ? pProfile->UpdateFromToolBarResource(lpszResourceName, ppCmdArray, pnCmdCount,
                                                                     bReplaceOld, bLoadTips, clrBmpTransparent)
                              : false;
}

bool CExtCmdManager::UpdateFromToolBarResource(LPCTSTR sProfileName, UINT nResourceID, UINT** ppCmdArray,
                                               INT* pnCmdCount, bool bReplaceOld, bool bLoadTips,
                                               COLORREF clrBmpTransparent)
{
    return UpdateFromToolBarResource(sProfileName, MAKEINTRESOURCE(LOWORD(nResourceID)), ppCmdArray, pnCmdCount,
                                     bReplaceOld, bLoadTips, clrBmpTransparent);
}

// ---- the holder ----------------------------------------------------------------------

CExtCmdManagerHolder::CExtCmdManagerHolder() : m_pCmdManager(new (std::nothrow) CExtCmdManager) {}

CExtCmdManagerHolder::~CExtCmdManagerHolder()
{
    delete m_pCmdManager;
    m_pCmdManager = NULL;
}

bool CExtCmdManagerHolder::IsRelay(CWnd* pWndNotifySrc) const
{
    if (m_pCmdManager == NULL)
        return false;
    return (g_pfnIsSystemChangeRelay == NULL) ? true : g_pfnIsSystemChangeRelay(pWndNotifySrc);
}

void CExtCmdManagerHolder::OnPaintManagerChanged()
{
    if (m_pCmdManager != NULL)
        m_pCmdManager->OnPaintManagerChanged();
}

void CExtCmdManagerHolder::OnSysColorChange(CExtPaintManager* pPM, CWnd* pWndNotifySrc)
{
    if (IsRelay(pWndNotifySrc))
        m_pCmdManager->OnSysColorChange(pPM);
}

void CExtCmdManagerHolder::OnSettingChange(CExtPaintManager* pPM, CWnd* pWndNotifySrc, UINT uFlags,
                                           LPCTSTR lpszSection)
{
    if (IsRelay(pWndNotifySrc))
        m_pCmdManager->OnSettingChange(pPM, uFlags, lpszSection);
}

void CExtCmdManagerHolder::OnDisplayChange(CExtPaintManager* pPM, CWnd* pWndNotifySrc, INT nDepthBPP, INT cx,
                                           INT cy)
{
    if (IsRelay(pWndNotifySrc))
        m_pCmdManager->OnDisplayChange(pPM, nDepthBPP, cx, cy);
}

void CExtCmdManagerHolder::OnThemeChanged(CExtPaintManager* pPM, CWnd* pWndNotifySrc, WPARAM wParam,
                                          LPARAM lParam)
{
    if (IsRelay(pWndNotifySrc))
        m_pCmdManager->OnThemeChanged(pPM, wParam, lParam);
}

CExtCmdManagerHolder g_CommandManager;
