// The paint-manager holder: platform facts, installing themes (order of the
// re-synchronisation, the command manager and the bridges), bridges that leave while
// they are told, the wheel setting and the relay of system changes once per frame.
#include <gtest/gtest.h>
#include "theme_test_support.h"
#include "toolkit/core/cmd_manager.h"
#include "toolkit/core/cmd_icon.h"
#include "support/dib_canvas.h"

#include <string>
#include <vector>

namespace {

std::vector<std::string>& Log()
{
    static std::vector<std::string> log;
    return log;
}

class RecordingCmdManager : public CExtCmdManager
{
public:
    void OnPaintManagerChanged() override { Log().push_back("command manager"); }
};

// Swaps a recording command manager into g_CommandManager while it lives.
class CmdManagerScope
{
public:
    CmdManagerScope() : m_pSaved(g_CommandManager.m_pCmdManager)
    {
        g_CommandManager.m_pCmdManager = &m_recorder;
    }
    ~CmdManagerScope() { g_CommandManager.m_pCmdManager = m_pSaved; }

private:
    CExtCmdManager* m_pSaved;
    RecordingCmdManager m_recorder;
};

class RecordingTheme : public CExtPaintManagerXP
{
public:
    void OnResyncHook(CExtPaintManager* pPM, LPARAM lParam) override
    {
        Log().push_back(pPM == this && lParam == 0 ? "hook" : "hook with other arguments");
    }
    void RefreshFromSystem() override
    {
        Log().push_back("refresh");
        CExtPaintManagerXP::RefreshFromSystem();
    }
    void InitLogicalColorMap() override
    {
        Log().push_back("colour map");
        CExtPaintManagerXP::InitLogicalColorMap();
    }
    void CreateAuxBrushes() override
    {
        Log().push_back("brushes");
        CExtPaintManagerXP::CreateAuxBrushes();
    }
};

class RecordingBridge : public CExtPmBridge
{
public:
    explicit RecordingBridge(const char* sName, HWND hWnd = NULL) : m_sName(sName), m_hWnd(hWnd)
    {
        RegisterWithHolder();
    }
    ~RecordingBridge() override { UnregisterFromHolder(); }
    void RegisterWithHolder() override { g_CurrentPaintManager.RegisterBridge(this); }
    void UnregisterFromHolder() override { g_CurrentPaintManager.UnregisterBridge(this); }
    HWND GetBridgeHwnd() override { return m_hWnd; }
    CExtPaintManager* GetPaintManager() override { return g_CurrentPaintManager.GetPM(); }
    void OnPaintManagerInstalled(CExtPaintManager* pPM) override
    {
        Log().push_back(m_sName);
        m_pInstalled = pPM;
        if (m_pVictim != NULL)
        {
            delete m_pVictim;  // a window destroyed while the theme changes
            m_pVictim = NULL;
        }
        CExtPmBridge::OnPaintManagerInstalled(pPM);
    }
    void OnSysColorsChanged(CExtPaintManager*, CWnd*) override
    {
        m_nSysColor++;
        if (m_pVictim != NULL)
        {
            delete m_pVictim;
            m_pVictim = NULL;
        }
    }
    void OnSystemSettingChanged(CExtPaintManager*, CWnd*, UINT, LPCTSTR) override { m_nSetting++; }
    void OnDisplayModeChanged(CExtPaintManager*, CWnd*, int nBits, int cx, int cy) override
    {
        m_nDisplay++;
        m_nBits = nBits;
        m_cx = cx;
        m_cy = cy;
    }
    void OnVisualThemeChanged(CExtPaintManager*, CWnd*, WPARAM, LPARAM) override { m_nTheme++; }

    std::string m_sName;
    HWND m_hWnd;
    CExtPaintManager* m_pInstalled = NULL;
    RecordingBridge* m_pVictim = NULL;
    int m_nSysColor = 0, m_nSetting = 0, m_nDisplay = 0, m_nTheme = 0;
    int m_nBits = 0, m_cx = 0, m_cy = 0;
};

}  // namespace

TEST(PaintManagerHolder, PlatformFactsComeFromTheSystemVersion)
{
    OSVERSIONINFOA vi;
    ::memset(&vi, 0, sizeof(vi));
    vi.dwOSVersionInfoSize = sizeof(vi);
    ASSERT_TRUE(::GetVersionExA(&vi));
    const CExtPaintManagerHolder& h = g_CurrentPaintManager;
    EXPECT_EQ(148u, h.m_osVerData.dwOSVersionInfoSize);
    EXPECT_EQ(vi.dwMajorVersion, h.m_osVerData.dwMajorVersion);
    EXPECT_EQ(vi.dwPlatformId == VER_PLATFORM_WIN32_NT, (h.m_nOsFlags1 & 0x20) != 0);
    EXPECT_EQ(vi.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS, (h.m_nOsFlags1 & 0x02) != 0);
    if (vi.dwPlatformId == VER_PLATFORM_WIN32_NT)
    {
        EXPECT_EQ(vi.dwMajorVersion >= 4, (h.m_nOsFlags2 & 0x02) != 0);
        EXPECT_EQ(vi.dwMajorVersion >= 5, (h.m_nOsFlags2 & 0x04) != 0);
        EXPECT_EQ(vi.dwMajorVersion == 5 && vi.dwMinorVersion == 1, (h.m_nOsFlags2 & 0x01) != 0);
        EXPECT_EQ(vi.dwMajorVersion == 4, (h.m_nOsFlags1 & 0x40) != 0);
    }
    // The description carries the version numbers, the build and the service pack.
    char szTail[256];
    ::wsprintfA(szTail, " v.%lu.%lu (build %lu) %s", (unsigned long)vi.dwMajorVersion,
                (unsigned long)vi.dwMinorVersion, (unsigned long)vi.dwBuildNumber,
                vi.szCSDVersion);
    const CString& s = h.m_strOsVer;
    ASSERT_GE(s.GetLength(), (int)::lstrlenA(szTail));
    EXPECT_STREQ(szTail, (LPCTSTR)s + (s.GetLength() - ::lstrlenA(szTail)));
    if (vi.dwMajorVersion == 5 && vi.dwMinorVersion == 1)
    {
        EXPECT_EQ(0, s.Find("Windows XP v.5.1"));
    }
    if (vi.dwMajorVersion == 5 && vi.dwMinorVersion == 2)
    {
        EXPECT_EQ(0, s.Find(" v.5.2"));  // no name: the text begins with a blank
    }
}

TEST(PaintManagerHolder, RunTimeEntryPointsMatchWhatTheSystemExports)
{
    const CExtPaintManagerHolder& h = g_CurrentPaintManager;
    HMODULE hMsImg = ::LoadLibraryA("msimg32.dll");
    ASSERT_NE((HMODULE)NULL, hMsImg);
    // Missing entries (the platform here lacks AlphaDIBBlend and TransparentDIBits)
    // stay null, and the users fall back.
    EXPECT_EQ(reinterpret_cast<void*>(::GetProcAddress(hMsImg, "AlphaDIBBlend")),
              reinterpret_cast<void*>(h.m_pfnMsImgAlphaDIBBlend));
    EXPECT_EQ(reinterpret_cast<void*>(::GetProcAddress(hMsImg, "TransparentDIBits")),
              reinterpret_cast<void*>(h.m_pfnMsImgTransparentDIBits));
    EXPECT_NE(nullptr, reinterpret_cast<void*>(h.m_pfnMsImgGradientFill));
    EXPECT_NE(nullptr, reinterpret_cast<void*>(h.m_pfnMsImgAlphaBlend));
    EXPECT_NE(nullptr, reinterpret_cast<void*>(h.m_pfnMsImgTransparentBlt));
    EXPECT_NE(nullptr, reinterpret_cast<void*>(h.m_pfnUpdateLayeredWindow));
    EXPECT_NE(nullptr, reinterpret_cast<void*>(h.m_pfnSetLayeredWindowAttributes));
    ::FreeLibrary(hMsImg);
}

TEST(PaintManagerHolder, InstallResynchronisesThenTellsCommandManagerThenBridges)
{
    CmdManagerScope cmd;
    RecordingBridge bridge("bridge");
    Log().clear();
    RecordingTheme* pTheme = new RecordingTheme;
    ASSERT_TRUE(g_CurrentPaintManager.InstallPaintManager(pTheme));
    const std::vector<std::string> expected = {"hook", "refresh", "colour map", "brushes",
                                               "command manager", "bridge"};
    EXPECT_EQ(expected, Log());
    // A system change runs the same re-synchronisation and tells no command manager.
    Log().clear();
    g_CurrentPaintManager.OnDisplayChange(NULL, 32, 800, 600);
    const std::vector<std::string> expectedChange = {"hook", "refresh", "colour map", "brushes"};
    EXPECT_EQ(expectedChange, Log());
    EXPECT_EQ(pTheme, bridge.m_pInstalled);
    EXPECT_EQ(pTheme, g_CurrentPaintManager.m_pPM);

    // The same object again: nothing is redone and nobody is told.
    Log().clear();
    EXPECT_TRUE(g_CurrentPaintManager.InstallPaintManager(pTheme));
    EXPECT_TRUE(Log().empty());
    themetest::InstallTheme(RUNTIME_CLASS(CExtPaintManagerXP));
}

TEST(PaintManagerHolder, FirstUseInstallsTheXpTheme)
{
    delete g_CurrentPaintManager.m_pPM;
    g_CurrentPaintManager.m_pPM = NULL;
    CmdManagerScope cmd;
    RecordingBridge bridge("bridge");
    Log().clear();
    CExtPaintManager* pPM = g_CurrentPaintManager.operator->();
    ASSERT_NE(nullptr, pPM);
    EXPECT_EQ(CExtPaintManager::ThemeIdXP, pPM->GetThemeId());
    EXPECT_EQ(50 + 0, pPM->GetBrushTableSize());
    EXPECT_GT(pPM->GetColorTableSize(), 50);  // re-synchronised: theme colours exist
    const std::vector<std::string> expected = {"command manager", "bridge"};
    EXPECT_EQ(expected, Log());
}

TEST(PaintManagerHolder, InstallByClassRefusesWhatIsNoPaintManager)
{
    CExtPaintManager* pBefore = g_CurrentPaintManager.GetPM();
    EXPECT_FALSE(g_CurrentPaintManager.InstallPaintManagerByClass(RUNTIME_CLASS(CWnd)));
    EXPECT_EQ(pBefore, g_CurrentPaintManager.m_pPM);
    // Null means: make sure one is installed.
    EXPECT_TRUE(g_CurrentPaintManager.InstallPaintManagerByClass(NULL));
    EXPECT_EQ(pBefore, g_CurrentPaintManager.m_pPM);
    EXPECT_TRUE(g_CurrentPaintManager.InstallPaintManagerByClass(
        RUNTIME_CLASS(CExtPaintManagerStudio2005)));
    EXPECT_EQ(CExtPaintManager::ThemeIdStudio2005, g_CurrentPaintManager->GetThemeId());
    themetest::InstallTheme(RUNTIME_CLASS(CExtPaintManagerXP));
}

TEST(PaintManagerHolder, ABridgeThatLeavesWhileOthersAreToldIsNotCalled)
{
    // Map order is not defined, so every bridge destroys all the others it can reach:
    // whoever is told first removes the rest, and nobody removed may be called.
    RecordingBridge* a = new RecordingBridge("a");
    RecordingBridge* b = new RecordingBridge("b");
    a->m_pVictim = b;
    b->m_pVictim = a;
    Log().clear();
    themetest::InstallTheme(RUNTIME_CLASS(CExtPaintManagerXP));
    ASSERT_EQ(1u, Log().size());
    RecordingBridge* pSurvivor = (Log()[0] == "a") ? a : b;
    EXPECT_TRUE(g_CurrentPaintManager.IsBridgeRegistered(pSurvivor));
    pSurvivor->m_pVictim = NULL;
    delete pSurvivor;
}

TEST(PaintManagerHolder, BridgeOfALiveWindowIsRecomputedAndRepainted)
{
    HWND hWnd = ::CreateWindowExA(0, "Static", "x", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, NULL,
                                  NULL, ::GetModuleHandleA(NULL), NULL);
    ASSERT_NE((HWND)NULL, hWnd);
    ::ValidateRect(hWnd, NULL);
    RecordingBridge bridge("bridge", hWnd);
    themetest::InstallTheme(RUNTIME_CLASS(CExtPaintManagerXP));
    RECT rcUpdate;
    EXPECT_TRUE(::GetUpdateRect(hWnd, &rcUpdate, FALSE));
    ::DestroyWindow(hWnd);
}

TEST(PaintManagerHolder, WheelLinesAreCachedUntilASettingChangeAndNeverBelowTwo)
{
    UINT nSaved = 3;
    ::SystemParametersInfoA(SPI_GETWHEELSCROLLLINES, 0, &nSaved, 0);
    ::SystemParametersInfoA(SPI_SETWHEELSCROLLLINES, 1, NULL, 0);
    g_CurrentPaintManager.OnSettingChange(NULL, 0, NULL);
    EXPECT_EQ(2, g_CurrentPaintManager.GetWheelLinesPerNotch());
    ::SystemParametersInfoA(SPI_SETWHEELSCROLLLINES, 7, NULL, 0);
    EXPECT_EQ(2, g_CurrentPaintManager.GetWheelLinesPerNotch());  // cached
    g_CurrentPaintManager.OnSettingChange(NULL, 0, NULL);
    EXPECT_EQ(7, g_CurrentPaintManager.GetWheelLinesPerNotch());
    ::SystemParametersInfoA(SPI_SETWHEELSCROLLLINES, nSaved, NULL, 0);
    g_CurrentPaintManager.OnSettingChange(NULL, 0, NULL);
    EXPECT_EQ((int)(nSaved < 2 ? 2 : nSaved), g_CurrentPaintManager.GetWheelLinesPerNotch());
}

TEST(PaintManagerHolder, RelaysReachThePaintManagerAndEveryBridgeWithTheirArguments)
{
    themetest::InstallTheme(RUNTIME_CLASS(CExtPaintManagerXP));
    RecordingBridge bridge("bridge");
    const int nColors = g_CurrentPaintManager->GetColorTableSize();
    g_CurrentPaintManager.OnSysColorChange(NULL);
    g_CurrentPaintManager.OnSettingChange(NULL, SPI_SETNONCLIENTMETRICS, "WindowMetrics");
    g_CurrentPaintManager.OnDisplayChange(NULL, 16, 800, 600);
    g_CurrentPaintManager.OnThemeChanged(NULL, 0, 0);
    EXPECT_EQ(1, bridge.m_nSysColor);
    EXPECT_EQ(1, bridge.m_nSetting);
    EXPECT_EQ(1, bridge.m_nDisplay);
    EXPECT_EQ(1, bridge.m_nTheme);
    EXPECT_EQ(16, bridge.m_nBits);
    EXPECT_EQ(800, bridge.m_cx);
    EXPECT_EQ(600, bridge.m_cy);
    // Four re-synchronisations later the colour table has not grown.
    EXPECT_EQ(nColors, g_CurrentPaintManager->GetColorTableSize());
}

TEST(PaintManagerHolder, CoreServicesReachTheThemeThroughItsHooks)
{
    // The core services are linked before the theme engine; the holder hands them the
    // relay test and the command icon's view of the paint manager.
    EXPECT_EQ(&CExtPaintManagerHolder::IsSystemChangeRelay,
              CExtCmdManagerHolder::g_pfnIsSystemChangeRelay);
    const CExtCmdIconThemeHooks* pHooks = CExtCmdIcon::stat_GetThemeHooks();
    ASSERT_NE(nullptr, pHooks);
    CExtPaintManager* pPM = themetest::InstallTheme(RUNTIME_CLASS(CExtPaintManagerOffice2003));
    EXPECT_EQ(CExtPaintManager::ThemeIdOffice2003, pHooks->m_pfnGetThemeId(pPM));
    EXPECT_EQ(pPM->LookupColor(2003), pHooks->m_pfnLookupColor(pPM, 2003));
    EXPECT_EQ(pPM->LookupColor(15), pHooks->m_pfnGetDisabledIconColor(pPM));
    EXPECT_DOUBLE_EQ(-0.5, pHooks->m_pfnGetDisabledIconAlpha(pPM));
    EXPECT_EQ(0, pHooks->m_pfnGetLunaColorScheme(pPM));
    testsupport::DibCanvas canvas(10, 10, RGB(255, 255, 255));
    pHooks->m_pfnDrawCheckMark(pPM, canvas.Dc(), 0, 0, RGB(255, 0, 0));
    RECT all = {0, 0, 10, 10};
    EXPECT_EQ(14, canvas.Count(RGB(255, 0, 0), all));
    themetest::InstallTheme(RUNTIME_CLASS(CExtPaintManagerXP));
}

TEST(PaintManagerHolder, ABridgeThatLeavesDuringARelayIsNotCalled)
{
    RecordingBridge* a = new RecordingBridge("a");
    RecordingBridge* b = new RecordingBridge("b");
    a->m_pVictim = b;
    b->m_pVictim = a;
    g_CurrentPaintManager.OnSysColorChange(NULL);
    // Exactly one of them was told; it removed the other before its turn.
    const bool bAFirst = g_CurrentPaintManager.IsBridgeRegistered(a);
    RecordingBridge* pSurvivor = bAFirst ? a : b;
    EXPECT_EQ(1, pSurvivor->m_nSysColor);
    EXPECT_FALSE(g_CurrentPaintManager.IsBridgeRegistered(bAFirst ? b : a));
    delete pSurvivor;
}
