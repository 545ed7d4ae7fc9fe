#include "theme_test_support.h"
#include "toolkit/core/bitmap.h"

namespace themetest {

TaskbandColors BlueTaskband()
{
    return {{RGB(0x3D, 0x95, 0xFF), RGB(0x7D, 0xBA, 0xFF), RGB(0x00, 0x3C, 0xC8),
             RGB(0x00, 0x23, 0x7A), RGB(0x24, 0x5E, 0xDC), RGB(0x3A, 0x80, 0xF3),
             RGB(0x31, 0x6A, 0xC5)}};
}

TaskbandColors OliveTaskband()
{
    return {{RGB(0xA8, 0xC4, 0x83), RGB(0xCD, 0xDB, 0xB2), RGB(0x5A, 0x73, 0x42),
             RGB(0x3F, 0x52, 0x2E), RGB(0x90, 0xA8, 0x6A), RGB(0x8B, 0xA1, 0x69),
             RGB(0x71, 0x8C, 0x4F)}};
}

TaskbandColors SilverTaskband()
{
    return {{RGB(0xE3, 0xE3, 0xEC), RGB(0xFF, 0xFF, 0xFF), RGB(0x9D, 0x9D, 0xB4),
             RGB(0x6E, 0x6E, 0x86), RGB(0xC8, 0xC8, 0xD7), RGB(0xBD, 0xBD, 0xD0),
             RGB(0xA5, 0xA5, 0xBD)}};
}

const int g_arrBaseLogicalColors[28][2] = {{1000, 15}, {1001, 15}, {2000, 15}, {1002, 22}, {1003, 22}, {2002, 22},
                                           {1004, 20}, {1005, 20}, {2004, 20}, {1006, 16}, {1007, 16}, {2006, 16},
                                           {1008, 21}, {1009, 21}, {2008, 21}, {1010, 8},  {1011, 8},  {2010, 16},
                                           {1012, 5},  {1013, 5},  {1014, 8},  {1015, 8},  {1016, 14}, {1017, 14},
                                           {1018, 15}, {1020, 15}, {1019, 13}, {1021, 13}};

COLORREF A(COLORREF c, double dH, double dL, double dS) { return CExtBitmap::stat_HLS_Adjust(c, dH, dL, dS); }

COLORREF Mix(COLORREF a, COLORREF b, int w) { return CExtBitmap::stat_RGB_Mix(a, b, w); }

COLORREF Lift(COLORREF c)
{
    const int r = GetRValue(c), g = GetGValue(c), b = GetBValue(c);
    return RGB(r + ::MulDiv(255 - r, 40, 100), g + ::MulDiv(255 - g, 20, 100), b);
}

COLORREF Scale(COLORREF c, int kr, int kg, int kb)
{
    return RGB(GetRValue(c) * kr / 1000, GetGValue(c) * kg / 1000, GetBValue(c) * kb / 1000);
}

TaskbandColors TaskbandOf(int nScheme)
{
    return nScheme == 1 ? BlueTaskband() : nScheme == 2 ? OliveTaskband() : SilverTaskband();
}

void OfficeBaseColors(int nScheme, COLORREF& L1, COLORREF& L2)
{
    const TaskbandColors tb = TaskbandOf(nScheme);
    double h0, s0, l0, h2, s2, l2, h5, s5, l5;
    CExtBitmap::stat_RGB2HLS(tb.clr[0], h0, s0, l0);
    CExtBitmap::stat_RGB2HLS(tb.clr[2], h2, s2, l2);
    CExtBitmap::stat_RGB2HLS(tb.clr[5], h5, s5, l5);
    L1 = CExtBitmap::stat_HLS2RGB(h5, (l0 + l2) * 0.5, s5);
    L2 = A(tb.clr[6], 0.01, 0, 0);
}

FakeUxState& Fake()
{
    static FakeUxState state;
    return state;
}

namespace {

HTHEME WINAPI FakeOpen(HWND hWnd, LPCWSTR pszList)
{
    FakeUxState& f = Fake();
    f.nOpenCalls++;
    f.sLastOpenList = pszList ? pszList : L"";
    f.hLastOpenWnd = hWnd;
    HTHEME h = f.hNextTheme;
    f.hNextTheme = (HTHEME)((UINT_PTR)f.hNextTheme + 1);
    return h;
}

HRESULT WINAPI FakeClose(HTHEME)
{
    Fake().nCloseCalls++;
    return S_OK;
}

HRESULT WINAPI FakeColor(HTHEME, int nPart, int nState, int nProp, COLORREF* pClr)
{
    static const int props[7] = {3804, 3805, 3806, 3807, 3808, 3821, 3823};
    FakeUxState& f = Fake();
    if (nPart != 2 || nState != 0)
        return E_FAIL;
    for (int i = 0; i < 7; i++)
        if (props[i] == nProp)
        {
            if (i == f.nFailColorAt)
                return E_FAIL;
            *pClr = f.taskband.clr[i];
            return S_OK;
        }
    return E_FAIL;
}

BOOL WINAPI FakeAppThemed() { return Fake().bAppThemed ? TRUE : FALSE; }
BOOL WINAPI FakeThemeActive() { return Fake().bThemeActive ? TRUE : FALSE; }
DWORD WINAPI FakeProps() { return Fake().dwAppProperties; }

HRESULT WINAPI FakeName(LPWSTR pszFile, int nFile, LPWSTR pszColor, int nColor, LPWSTR, int)
{
    FakeUxState& f = Fake();
    if (pszFile != NULL)
        ::lstrcpynW(pszFile, f.sFileName.c_str(), nFile);
    if (pszColor != NULL)
        ::lstrcpynW(pszColor, f.sColorName.c_str(), nColor);
    return S_OK;
}

HRESULT WINAPI FakeText(HTHEME, HDC, int, int, LPCWSTR pszText, int nCount, DWORD, DWORD,
                        const RECT*)
{
    FakeUxState& f = Fake();
    f.sLastDrawText = pszText ? pszText : L"";
    f.nLastDrawTextCount = nCount;
    return S_OK;
}

}  // namespace

FakeUxTheme::FakeUxTheme(UxThemeLibrary& lib)
    : m_lib(lib),
      m_hModule(lib.m_hModule),
      m_nFlags(lib.m_nFlags),
      m_dwComCtl(lib.m_dwComCtlVersion),
      m_open(lib.m_pfnOpenThemeData),
      m_close(lib.m_pfnCloseThemeData),
      m_color(lib.m_pfnGetThemeColor),
      m_appThemed(lib.m_pfnIsAppThemed),
      m_active(lib.m_pfnIsThemeActive),
      m_props(lib.m_pfnGetThemeAppProperties),
      m_name(lib.m_pfnGetCurrentThemeName),
      m_text(lib.m_pfnDrawThemeText)
{
    lib.CloseThemeData(false);
    if (lib.m_hModule == NULL)
        lib.m_hModule = ::GetModuleHandleA("kernel32.dll");  // any module: "present"
    lib.m_nFlags &= ~0x01;
    lib.m_pfnOpenThemeData = FakeOpen;
    lib.m_pfnCloseThemeData = FakeClose;
    lib.m_pfnGetThemeColor = FakeColor;
    lib.m_pfnIsAppThemed = FakeAppThemed;
    lib.m_pfnIsThemeActive = FakeThemeActive;
    lib.m_pfnGetThemeAppProperties = FakeProps;
    lib.m_pfnGetCurrentThemeName = FakeName;
    lib.m_pfnDrawThemeText = FakeText;
}

FakeUxTheme::~FakeUxTheme()
{
    m_lib.CloseThemeData(false);
    m_lib.m_hModule = m_hModule;
    m_lib.m_nFlags = m_nFlags;
    m_lib.m_dwComCtlVersion = m_dwComCtl;
    m_lib.m_pfnOpenThemeData = m_open;
    m_lib.m_pfnCloseThemeData = m_close;
    m_lib.m_pfnGetThemeColor = m_color;
    m_lib.m_pfnIsAppThemed = m_appThemed;
    m_lib.m_pfnIsThemeActive = m_active;
    m_lib.m_pfnGetThemeAppProperties = m_props;
    m_lib.m_pfnGetCurrentThemeName = m_name;
    m_lib.m_pfnDrawThemeText = m_text;
}

CExtPaintManager* InstallTheme(CRuntimeClass* pThemeClass)
{
    g_CurrentPaintManager.InstallPaintManagerByClass(pThemeClass);
    return g_CurrentPaintManager.m_pPM;
}

LunaScope::LunaScope(int nScheme, CRuntimeClass* pThemeClass, int nFailColorAt)
{
    FakeUxState& f = Fake();
    f = FakeUxState();
    f.nFailColorAt = nFailColorAt;
    switch (nScheme)
    {
    case 1:
        f.sColorName = L"NormalColor";
        f.taskband = BlueTaskband();
        break;
    case 2:
        f.sColorName = L"HomeStead";
        f.taskband = OliveTaskband();
        break;
    case 3:
        f.sColorName = L"Metallic";
        f.taskband = SilverTaskband();
        break;
    default:
        f.bAppThemed = false;
        f.bThemeActive = false;
        break;
    }
    m_pFake = new FakeUxTheme;
    InstallTheme(pThemeClass);
}

LunaScope::~LunaScope()
{
    delete m_pFake;
    g_CurrentPaintManager.DetectLunaColorScheme();
    InstallTheme(RUNTIME_CLASS(CExtPaintManagerXP));
}

}  // namespace themetest
