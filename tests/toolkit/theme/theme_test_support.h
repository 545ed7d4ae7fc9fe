// Test helpers of the theme engine: a stand-in for the UxTheme entry points (visual
// styles are off on the test platform) that plays a themed Windows XP with one of the
// Luna colour variants, and a guard for the screen depth the colour maps see.
#pragma once
#include "toolkit/theme/paint_manager.h"

#include <string>

namespace themetest {

// The seven taskband colours of a visual style, in the order the detection reads them.
struct TaskbandColors
{
    COLORREF clr[7];
};

// Realistic taskband colours of the three Luna variants.
TaskbandColors BlueTaskband();
TaskbandColors OliveTaskband();
TaskbandColors SilverTaskband();

// State of the stand-in entry points.
struct FakeUxState
{
    bool bAppThemed = true;
    bool bThemeActive = true;
    DWORD dwAppProperties = STAP_ALLOW_CONTROLS | STAP_ALLOW_NONCLIENT;
    std::wstring sFileName = L"C:\\WINDOWS\\Resources\\Themes\\Luna\\Luna.msstyles";
    std::wstring sColorName = L"NormalColor";
    TaskbandColors taskband = {};
    int nFailColorAt = -1;  // index of the taskband colour whose read fails, -1 none
    int nOpenCalls = 0;
    int nCloseCalls = 0;
    std::wstring sLastOpenList;
    HWND hLastOpenWnd = NULL;
    HTHEME hNextTheme = (HTHEME)0x1000;
    std::wstring sLastDrawText;
    int nLastDrawTextCount = 0;
};

FakeUxState& Fake();

// Replaces the entry points of a wrapper with the stand-ins while it lives, and puts the
// originals back afterwards (the holder's wrapper by default).
class FakeUxTheme
{
public:
    explicit FakeUxTheme(UxThemeLibrary& lib = g_CurrentPaintManager.m_UxTheme);
    ~FakeUxTheme();

private:
    UxThemeLibrary& m_lib;
    HMODULE m_hModule;
    BYTE m_nFlags;
    DWORD m_dwComCtl;
    UxThemeLibrary::PFN_OpenThemeData m_open;
    UxThemeLibrary::PFN_CloseThemeData m_close;
    UxThemeLibrary::PFN_GetThemeColor m_color;
    UxThemeLibrary::PFN_IsAppThemed m_appThemed;
    UxThemeLibrary::PFN_IsThemeActive m_active;
    UxThemeLibrary::PFN_GetThemeAppProperties m_props;
    UxThemeLibrary::PFN_GetCurrentThemeName m_name;
    UxThemeLibrary::PFN_DrawThemeText m_text;
};

// Plays the given Luna variant (1 blue, 2 olive, 3 silver; 0 the classic style) and
// installs a new theme of the given class so that it re-synchronises with it. The
// destructor restores the platform and installs the default theme again.
class LunaScope
{
public:
    LunaScope(int nScheme, CRuntimeClass* pThemeClass, int nFailColorAt = -1);
    ~LunaScope();
    CExtPaintManager* PM() { return g_CurrentPaintManager.m_pPM; }

private:
    FakeUxTheme* m_pFake;
};

// Makes the colour maps see a screen of the given depth while it lives.
class ScreenDepthScope
{
public:
    explicit ScreenDepthScope(int nBits) { CExtPaintManager::g_nScreenBitsPerPixelOverride = nBits; }
    ~ScreenDepthScope() { CExtPaintManager::g_nScreenBitsPerPixelOverride = 0; }
};

// Installs a fresh theme of the class and answers it.
CExtPaintManager* InstallTheme(CRuntimeClass* pThemeClass);

// The base theme's logical colours: each id with the system colour it stands for.
extern const int g_arrBaseLogicalColors[28][2];

// The colour steps the Luna maps are written in, for the models the colour-map tests
// compare with: an HLS adjustment, a mix, the lift of the Studio 2005 face towards
// white in red and green, and a scale of each channel in thousandths.
COLORREF A(COLORREF c, double dH, double dL, double dS);
COLORREF Mix(COLORREF a, COLORREF b, int w);
COLORREF Lift(COLORREF c);
COLORREF Scale(COLORREF c, int kr, int kg, int kb);

// The taskband colours of a Luna variant (1 blue, 2 olive, 3 silver).
TaskbandColors TaskbandOf(int nScheme);
// The two base colours as the Office 2003 theme derives them from the taskband.
void OfficeBaseColors(int nScheme, COLORREF& L1, COLORREF& L2);

}  // namespace themetest
