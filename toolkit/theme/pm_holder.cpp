// g_CurrentPaintManager: installs themes, tells the bridges, relays the system changes
// once per frame and keeps the platform facts.
#include "toolkit/theme/paint_manager.h"
#include "toolkit/theme/pm_neighbours.h"
#include "toolkit/core/cmd_manager.h"

#include <wchar.h>

CExtPaintManagerHolder::pfnQueryMdiTabRelay CExtPaintManagerHolder::g_pfnQueryMdiTabRelay = NULL;

namespace {

template <class T>
void LookUpEntry(HMODULE hModule, T& pfn, const char* pszName)
{
    FARPROC p = ::GetProcAddress(hModule, pszName);
    pfn = reinterpret_cast<T>(reinterpret_cast<void*>(p));
}

}  // namespace

CExtPaintManagerHolder::CExtPaintManagerHolder()
    : m_pPM(NULL),
      m_mapBridges(10),
      m_nCacheFlags(0),
      m_nWheelLines(0),
      m_strOsVer("Unknown"),
      m_nOsFlags1(0),
      m_nOsFlags2(0),
      m_nLunaColorScheme(0),
      m_hDllMsImg(NULL),
      m_pfnMsImgGradientFill(NULL),
      m_pfnMsImgAlphaBlend(NULL),
      m_pfnMsImgAlphaDIBBlend(NULL),
      m_pfnMsImgTransparentBlt(NULL),
      m_pfnMsImgTransparentDIBits(NULL),
      m_hDllUser32(NULL),
      m_pfnAnimateWindow(NULL),
      m_pfnSetLayeredWindowAttributes(NULL),
      m_pfnUpdateLayeredWindow(NULL)
{
    for (int i = 0; i < 7; i++)
        m_clrTaskband[i] = 0;

    ::memset(&m_osVerData, 0, sizeof(m_osVerData));
    m_osVerData.dwOSVersionInfoSize = sizeof(OSVERSIONINFOA);  // 148 bytes
    ::GetVersionExA(&m_osVerData);
    CString sName;
    const DWORD nMajor = m_osVerData.dwMajorVersion, nMinor = m_osVerData.dwMinorVersion;
    switch (m_osVerData.dwPlatformId)
    {
    case VER_PLATFORM_WIN32s:
        m_nOsFlags1 |= 0x01;
        sName = "Win32s";
        break;
    case VER_PLATFORM_WIN32_WINDOWS:
        m_nOsFlags1 |= 0x02;
        if (nMajor == 4 && nMinor == 0)
            m_nOsFlags1 |= 0x04;
        if (nMajor > 4 || (nMajor == 4 && nMinor > 0))
            m_nOsFlags1 |= 0x10;
        sName = "Windows ";
        if ((m_nOsFlags1 & 0x10) == 0)
            sName += "95";
        else if (nMajor == 4 && nMinor > 0)
        {
            m_nOsFlags1 |= 0x08;
            sName += "98";
        }
        else
            sName += "98 or later";
        break;
    case VER_PLATFORM_WIN32_NT:
        m_nOsFlags1 |= 0x20;
        if (nMajor == 5 && nMinor == 0)
        {
            m_nOsFlags1 |= 0x80;
            sName = "Windows 2000";
        }
        else if (nMajor == 5 && nMinor == 1)
        {
            m_nOsFlags2 |= 0x01;
            sName = "Windows XP";
        }
        else if (nMajor == 5)
        {
        }
        else
        {
            if (nMajor == 4)
                m_nOsFlags1 |= 0x40;
            sName = "Windows NT";
        }
        if (nMajor >= 4)
            m_nOsFlags2 |= 0x02;
        if (nMajor >= 5)
        {
            m_nOsFlags2 |= 0x04;
            if (!(nMajor == 5 && nMinor == 0))
                m_nOsFlags2 |= 0x08;
        }
        break;
    default:
        break;
    }
    m_strOsVer.Format("%s v.%lu.%lu (build %lu) %s", (LPCTSTR)sName,
                      (unsigned long)m_osVerData.dwMajorVersion,
                      (unsigned long)m_osVerData.dwMinorVersion,
                      (unsigned long)m_osVerData.dwBuildNumber, m_osVerData.szCSDVersion);

    DetectLunaColorScheme();

    RegisterCoreHooks();

    if ((m_nOsFlags2 & 0x04) != 0)
    {
        m_hDllMsImg = ::LoadLibraryA("msimg32.dll");
        if (m_hDllMsImg != NULL)
        {
            LookUpEntry(m_hDllMsImg, m_pfnMsImgGradientFill, "GradientFill");
            LookUpEntry(m_hDllMsImg, m_pfnMsImgAlphaBlend, "AlphaBlend");
            LookUpEntry(m_hDllMsImg, m_pfnMsImgAlphaDIBBlend, "AlphaDIBBlend");
            LookUpEntry(m_hDllMsImg, m_pfnMsImgTransparentBlt, "TransparentBlt");
            LookUpEntry(m_hDllMsImg, m_pfnMsImgTransparentDIBits, "TransparentDIBits");
        }
    }
    m_hDllUser32 = ::LoadLibraryA("user32.dll");
    if (m_hDllUser32 != NULL)
    {
        LookUpEntry(m_hDllUser32, m_pfnAnimateWindow, "AnimateWindow");
        LookUpEntry(m_hDllUser32, m_pfnSetLayeredWindowAttributes, "SetLayeredWindowAttributes");
        LookUpEntry(m_hDllUser32, m_pfnUpdateLayeredWindow, "UpdateLayeredWindow");
    }
}

CExtPaintManagerHolder::~CExtPaintManagerHolder()
{
    if (m_hDllMsImg != NULL)
        ::FreeLibrary(m_hDllMsImg);
    m_hDllMsImg = NULL;
    if (m_hDllUser32 != NULL)
        ::FreeLibrary(m_hDllUser32);
    m_hDllUser32 = NULL;
    delete m_pPM;
    m_pPM = NULL;
    m_mapBridges.RemoveAll();
}

bool CExtPaintManagerHolder::EnsureInstalled()
{
    if (m_pPM != NULL)
        return true;
    return InstallPaintManager(NULL);
}

CExtPaintManager* CExtPaintManagerHolder::operator->()
{
    EnsureInstalled();
    return m_pPM;
}

CExtPaintManagerHolder::operator CExtPaintManager*()
{
    EnsureInstalled();
    return m_pPM;
}

CExtPaintManager* CExtPaintManagerHolder::GetPM()
{
    EnsureInstalled();
    return m_pPM;
}

void CExtPaintManagerHolder::SnapshotBridges(CTypedPtrArray<CPtrArray, CExtPmBridge*>& arr) const
{
    arr.RemoveAll();
    POSITION pos = m_mapBridges.GetStartPosition();
    while (pos != NULL)
    {
        CExtPmBridge* pBridge = NULL;
        void* pValue = NULL;
        m_mapBridges.GetNextAssoc(pos, pBridge, pValue);
        arr.Add(pBridge);
    }
}

bool CExtPaintManagerHolder::IsBridgeRegistered(CExtPmBridge* pBridge) const
{
    void* pValue = NULL;
    return pBridge != NULL && m_mapBridges.Lookup(pBridge, pValue) != FALSE;
}

bool CExtPaintManagerHolder::InstallPaintManager(CExtPaintManager* pPM)
{
    if (m_pPM != NULL)
    {
        if (m_pPM == pPM)
            return true;
        delete m_pPM;
        m_pPM = NULL;
    }
    if (pPM == NULL)
        pPM = new CExtPaintManagerXP;
    if (!pPM->IsKindOf(RUNTIME_CLASS(CExtPaintManager)))
    {
        delete pPM;
        return false;
    }
    m_pPM = pPM;
    // The same re-synchronisation as a system change, hook first.
    m_pPM->OnResyncHook(m_pPM, 0);
    m_pPM->RefreshFromSystem();
    m_pPM->InitLogicalColorMap();
    m_pPM->CreateAuxBrushes();
    g_CommandManager.OnPaintManagerChanged();
    // A bridge told of the change may destroy windows (and so unregister bridges);
    // walk a copy and skip whoever left meanwhile.
    CTypedPtrArray<CPtrArray, CExtPmBridge*> arr;
    SnapshotBridges(arr);
    for (INT_PTR i = 0; i < arr.GetSize(); i++)
    {
        CExtPmBridge* pBridge = arr[i];
        if (IsBridgeRegistered(pBridge))
            pBridge->OnPaintManagerInstalled(m_pPM);
    }
    return true;
}

bool CExtPaintManagerHolder::InstallPaintManagerByClass(CRuntimeClass* pRTC)
{
    if (pRTC == NULL)
        return EnsureInstalled();
    CObject* pObj = pRTC->CreateObject();
    if (pObj == NULL)
        return false;
    if (!pObj->IsKindOf(RUNTIME_CLASS(CExtPaintManager)))
    {
        delete pObj;
        return false;
    }
    return InstallPaintManager(static_cast<CExtPaintManager*>(pObj));
}

void CExtPaintManagerHolder::RegisterBridge(CExtPmBridge* pBridge)
{
    if (pBridge != NULL)
        m_mapBridges.SetAt(pBridge, NULL);
}

void CExtPaintManagerHolder::UnregisterBridge(CExtPmBridge* pBridge)
{
    if (pBridge != NULL)
        m_mapBridges.RemoveKey(pBridge);
}

bool CExtPaintManagerHolder::IsKindOfByName(const CObject* pObj, LPCSTR sClassName)
{
    if (pObj == NULL || sClassName == NULL)
        return false;
    for (const CRuntimeClass* pRTC = pObj->GetRuntimeClass(); pRTC != NULL;
         pRTC = pRTC->GetBaseClass())
    {
        if (pRTC->m_lpszClassName != NULL && ::lstrcmpA(pRTC->m_lpszClassName, sClassName) == 0)
            return true;
    }
    return false;
}

namespace {

CWnd* PermanentChild(HWND hWndParent, int nID)
{
    HWND hWnd = ::GetDlgItem(hWndParent, nID);
    return (hWnd != NULL) ? CWnd::FromHandlePermanent(hWnd) : NULL;
}

// A floating mini dock frame is a frame window even where its class record does not
// (yet) descend from the framework's frame class.
bool IsFrameWindow(CWnd* pWnd)
{
    return pWnd->IsKindOf(RUNTIME_CLASS(CFrameWnd)) || CExtPmNeighbours::IsMiniDockFrame(pWnd);
}

// The first frame window among the window and its parents (owner for pop-ups).
CWnd* FrameOf(CWnd* pWnd, bool bIncludeSelf)
{
    HWND hWnd = pWnd->GetSafeHwnd();
    if (hWnd == NULL)
        return NULL;
    if (!bIncludeSelf)
        hWnd = ::GetParent(hWnd);
    for (; hWnd != NULL; hWnd = ::GetParent(hWnd))
    {
        CWnd* p = CWnd::FromHandlePermanent(hWnd);
        if (p != NULL && IsFrameWindow(p))
            return p;
    }
    return NULL;
}

}  // namespace

bool CExtPaintManagerHolder::IsSystemChangeRelay(CWnd* pWnd)
{
    if (pWnd == NULL)
        return true;
    if (IsKindOfByName(pWnd, "CExtStatusControlBar"))
        return true;
    CWnd* pFrame = FrameOf(pWnd, true);
    if (pFrame == NULL)
        return true;
    // A floating mini dock frame stands for the frame it docks to, but the windows
    // floating in it are not part of that frame's children, so they always act.
    if (CExtPmNeighbours::IsMiniDockFrame(pFrame) && FrameOf(pFrame, false) == NULL)
        return true;
    if (pFrame->IsKindOf(RUNTIME_CLASS(CMiniFrameWnd)))
        return true;
    HWND hWndFrame = pFrame->GetSafeHwnd();
    CWnd* pChild = PermanentChild(hWndFrame, 0xE801);
    if (pChild != NULL && IsKindOfByName(pChild, "CExtStatusControlBar"))
        return pChild == pWnd;
    static const int g_arrDockBarIds[4] = {0xE81B, 0xE81E, 0xE81C, 0xE81D};
    for (int i = 0; i < 4; i++)
    {
        pChild = PermanentChild(hWndFrame, g_arrDockBarIds[i]);
        if (CExtPmNeighbours::IsDockOuterBar(pChild))
            return pChild == pWnd;
    }
    for (HWND hWnd = ::GetWindow(hWndFrame, GW_CHILD); hWnd != NULL;
         hWnd = ::GetWindow(hWnd, GW_HWNDNEXT))
    {
        CWnd* p = CWnd::FromHandlePermanent(hWnd);
        // The tab windows' query answers true for an MDI tab window only.
        if (p != NULL && g_pfnQueryMdiTabRelay != NULL && g_pfnQueryMdiTabRelay(p))
            return p == pWnd;
    }
    return true;
}

void CExtPaintManagerHolder::OnSysColorChange(CWnd* pWndRelay)
{
    if (!IsSystemChangeRelay(pWndRelay))
        return;
    CExtPaintManager* pPM = GetPM();
    pPM->OnSysColorChange();
    CTypedPtrArray<CPtrArray, CExtPmBridge*> arr;
    SnapshotBridges(arr);
    for (INT_PTR i = 0; i < arr.GetSize(); i++)
        if (IsBridgeRegistered(arr[i]))
            arr[i]->OnSysColorsChanged(pPM, pWndRelay);
}

void CExtPaintManagerHolder::OnSettingChange(CWnd* pWndRelay, UINT uFlags, LPCTSTR lpszSection)
{
    if (!IsSystemChangeRelay(pWndRelay))
        return;
    m_nCacheFlags &= ~0x01;
    CExtPaintManager* pPM = GetPM();
    pPM->OnSettingChange(uFlags, lpszSection);
    CTypedPtrArray<CPtrArray, CExtPmBridge*> arr;
    SnapshotBridges(arr);
    for (INT_PTR i = 0; i < arr.GetSize(); i++)
        if (IsBridgeRegistered(arr[i]))
            arr[i]->OnSystemSettingChanged(pPM, pWndRelay, uFlags, lpszSection);
}

void CExtPaintManagerHolder::OnDisplayChange(CWnd* pWndRelay, int nBitsPerPixel, int cx, int cy)
{
    if (!IsSystemChangeRelay(pWndRelay))
        return;
    m_nCacheFlags &= ~0x01;
    CExtPaintManager* pPM = GetPM();
    pPM->OnDisplayChange(nBitsPerPixel, cx, cy);
    CTypedPtrArray<CPtrArray, CExtPmBridge*> arr;
    SnapshotBridges(arr);
    for (INT_PTR i = 0; i < arr.GetSize(); i++)
        if (IsBridgeRegistered(arr[i]))
            arr[i]->OnDisplayModeChanged(pPM, pWndRelay, nBitsPerPixel, cx, cy);
}

void CExtPaintManagerHolder::OnThemeChanged(CWnd* pWndRelay, WPARAM wParam, LPARAM lParam)
{
    if (!IsSystemChangeRelay(pWndRelay))
        return;
    m_nCacheFlags &= ~0x01;
    CExtPaintManager* pPM = GetPM();
    pPM->OnThemeChanged(wParam, lParam);
    CTypedPtrArray<CPtrArray, CExtPmBridge*> arr;
    SnapshotBridges(arr);
    for (INT_PTR i = 0; i < arr.GetSize(); i++)
        if (IsBridgeRegistered(arr[i]))
            arr[i]->OnVisualThemeChanged(pPM, pWndRelay, wParam, lParam);
}

int CExtPaintManagerHolder::GetWheelLinesPerNotch()
{
    if ((m_nCacheFlags & 0x01) != 0)
        return m_nWheelLines;
    m_nCacheFlags |= 0x01;
    // The framework keeps no Windows 95 flag; the system is asked always.
    UINT nLines = 3;
    if (!::SystemParametersInfoA(SPI_GETWHEELSCROLLLINES, 0, &nLines, 0))
        nLines = 3;
    m_nWheelLines = (int)nLines;
    if (m_nWheelLines < 2)
        m_nWheelLines = 2;
    return m_nWheelLines;
}

void CExtPaintManagerHolder::DetectLunaColorScheme()
{
    m_nOsFlags2 &= ~0x10;
    m_nLunaColorScheme = 0;
    if (!m_UxTheme.IsAppThemed())
        return;
    WCHAR szFile[MAX_PATH + 1], szColor[MAX_PATH + 1];
    ::memset(szFile, 0, sizeof(szFile));
    ::memset(szColor, 0, sizeof(szColor));
    if (m_UxTheme.GetCurrentThemeName(szFile, MAX_PATH, szColor, MAX_PATH, NULL, 0) == S_OK)
    {
        szFile[MAX_PATH] = L'\0';
        szColor[MAX_PATH] = L'\0';
        ::CharLowerW(szFile);
        if (::wcsstr(szFile, L"luna.msstyles") != NULL)
        {
            ::CharLowerW(szColor);
            if (::lstrcmpW(szColor, L"normalcolor") == 0)
                m_nLunaColorScheme = 1;
            else if (::lstrcmpW(szColor, L"homestead") == 0)
                m_nLunaColorScheme = 2;
            else if (::lstrcmpW(szColor, L"metallic") == 0)
                m_nLunaColorScheme = 3;
        }
    }
    if (m_UxTheme.OpenThemeData(::GetDesktopWindow(), L"TASKBAND") != NULL)
    {
        static const int g_arrProps[7] = {3804, 3805, 3806, 3807, 3808, 3821, 3823};
        int nRead = 0;
        for (; nRead < 7; nRead++)
        {
            if (m_UxTheme.GetThemeColor(2, 0, g_arrProps[nRead], &m_clrTaskband[nRead]) != S_OK)
                break;
        }
        if (nRead == 7)
            m_nOsFlags2 |= 0x10;
        m_UxTheme.CloseThemeData(false);
    }
}

// ---- CExtPmBridge ---------------------------------------------------------------------------

CExtPmBridge::~CExtPmBridge() {}

void CExtPmBridge::OnPaintManagerInstalled(CExtPaintManager* pPM)
{
    if (pPM != GetPaintManager())
        return;
    HWND hWnd = GetBridgeHwnd();
    if (hWnd == NULL || !::IsWindow(hWnd))
        return;
    ::SetWindowPos(hWnd, NULL, 0, 0, 0, 0,
                   SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED |
                       SWP_NOOWNERZORDER);
    ::RedrawWindow(hWnd, NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void CExtPmBridge::OnSysColorsChanged(CExtPaintManager*, CWnd*) {}

void CExtPmBridge::OnSystemSettingChanged(CExtPaintManager*, CWnd*, UINT, LPCTSTR) {}

void CExtPmBridge::OnDisplayModeChanged(CExtPaintManager*, CWnd*, int, int, int) {}

void CExtPmBridge::OnVisualThemeChanged(CExtPaintManager*, CWnd*, WPARAM, LPARAM) {}

// Constructed by static initialisation, before the application object; the theme is
// installed on first use.
CExtPaintManagerHolder g_CurrentPaintManager;

void CExtPaintManagerHolder::RelaySystemChange(CWnd* pWndRelay, CExtPaintManager* pPM, UINT nMessage,
                                               WPARAM wParam, LPARAM lParam)
{
    switch (nMessage)
    {
    case WM_SYSCOLORCHANGE:
        OnSysColorChange(pWndRelay);
        g_CommandManager.OnSysColorChange(pPM, pWndRelay);
        break;
    case WM_SETTINGCHANGE:
        OnSettingChange(pWndRelay, UINT(wParam), reinterpret_cast<LPCTSTR>(lParam));
        g_CommandManager.OnSettingChange(pPM, pWndRelay, UINT(wParam), reinterpret_cast<LPCTSTR>(lParam));
        break;
    case WM_DISPLAYCHANGE:
    {
        const int nBpp = int(wParam), cx = (short)LOWORD(lParam), cy = (short)HIWORD(lParam);
        OnDisplayChange(pWndRelay, nBpp, cx, cy);
        g_CommandManager.OnDisplayChange(pPM, pWndRelay, nBpp, cx, cy);
        break;
    }
    case WM_THEMECHANGED:
        OnThemeChanged(pWndRelay, wParam, lParam);
        g_CommandManager.OnThemeChanged(pPM, pWndRelay, wParam, lParam);
        break;
    default:
        break;
    }
}
