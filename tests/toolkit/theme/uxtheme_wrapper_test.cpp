// The visual-styles wrapper: entry lookup, the one open theme handle and its reuse,
// closing, text conversion, the usability test and the failure values.
#include <gtest/gtest.h>
#include "theme_test_support.h"

#include <string>

using themetest::Fake;
using themetest::FakeUxState;
using themetest::FakeUxTheme;

namespace {

class TestWindow
{
public:
    explicit TestWindow(const char* sClass = "Button")
    {
        m_hWnd = ::CreateWindowExA(0, sClass, "t", WS_POPUP, 0, 0, 10, 10, NULL, NULL,
                                   ::GetModuleHandleA(NULL), NULL);
    }
    ~TestWindow()
    {
        if (m_hWnd != NULL && ::IsWindow(m_hWnd))
            ::DestroyWindow(m_hWnd);
    }
    void Destroy()
    {
        ::DestroyWindow(m_hWnd);
    }
    HWND m_hWnd;
};

class UxThemeWrapperTest : public ::testing::Test
{
protected:
    void SetUp() override { Fake() = FakeUxState(); }
};

}  // namespace

TEST_F(UxThemeWrapperTest, EntryPointsAreLookedUpByNameInTableOrder)
{
    UxThemeLibrary lib;
    EXPECT_STREQ("OpenThemeData", UxThemeLibrary::g_arrEntryNames[0]);
    EXPECT_STREQ("IsAppThemed", UxThemeLibrary::g_arrEntryNames[37]);
    EXPECT_STREQ("DrawThemeBackgroundEx", UxThemeLibrary::g_arrEntryNames[47]);
    if (lib.m_hModule == NULL)
        GTEST_SKIP() << "no UxTheme.dll on this system";
    // Each pointer is exactly what the module exports under its name.
    EXPECT_EQ(reinterpret_cast<void*>(::GetProcAddress(lib.m_hModule, "OpenThemeData")),
              reinterpret_cast<void*>(lib.m_pfnOpenThemeData));
    EXPECT_EQ(reinterpret_cast<void*>(::GetProcAddress(lib.m_hModule, "GetThemeColor")),
              reinterpret_cast<void*>(lib.m_pfnGetThemeColor));
    EXPECT_EQ(reinterpret_cast<void*>(::GetProcAddress(lib.m_hModule, "DrawThemeBackgroundEx")),
              reinterpret_cast<void*>(lib.m_pfnDrawThemeBackgroundEx));
    EXPECT_EQ(CExtPaintManager::QueryDllVersion("COMCTL32.DLL"), lib.GetCommonControlsVersion());
}

TEST_F(UxThemeWrapperTest, SameListAndWindowReuseTheOpenHandle)
{
    UxThemeLibrary lib;
    FakeUxTheme fake(lib);
    TestWindow wnd;
    HTHEME h1 = lib.OpenThemeData(wnd.m_hWnd, L"SCROLLBAR");
    HTHEME h2 = lib.OpenThemeData(wnd.m_hWnd, L"SCROLLBAR");
    ASSERT_NE((HTHEME)NULL, h1);
    EXPECT_EQ(h1, h2);
    EXPECT_EQ(1, Fake().nOpenCalls);
    EXPECT_EQ(0, Fake().nCloseCalls);
    EXPECT_STREQ(L"SCROLLBAR", lib.GetOpenThemeClassList());
    EXPECT_EQ(wnd.m_hWnd, lib.GetOpenThemeWindow());
}

TEST_F(UxThemeWrapperTest, AnotherWindowClosesAndReopens)
{
    UxThemeLibrary lib;
    FakeUxTheme fake(lib);
    TestWindow a, b;
    HTHEME h1 = lib.OpenThemeData(a.m_hWnd, L"BUTTON");
    HTHEME h2 = lib.OpenThemeData(b.m_hWnd, L"BUTTON");
    EXPECT_NE(h1, h2);
    EXPECT_EQ(2, Fake().nOpenCalls);
    EXPECT_EQ(1, Fake().nCloseCalls);
    EXPECT_EQ(b.m_hWnd, lib.GetOpenThemeWindow());
}

TEST_F(UxThemeWrapperTest, ClassListsAreComparedAsWholeStrings)
{
    UxThemeLibrary lib;
    FakeUxTheme fake(lib);
    TestWindow wnd;
    lib.OpenThemeData(wnd.m_hWnd, L"TASKBAND");
    // A list that is only the beginning of the open one names another class.
    lib.OpenThemeData(wnd.m_hWnd, L"TASK");
    EXPECT_EQ(2, Fake().nOpenCalls);
    EXPECT_STREQ(L"TASK", lib.GetOpenThemeClassList());
    lib.OpenThemeData(wnd.m_hWnd, L"TASKBAND");
    EXPECT_EQ(3, Fake().nOpenCalls);
}

TEST_F(UxThemeWrapperTest, EmptyListOpensTheWindowsOwnClass)
{
    UxThemeLibrary lib;
    FakeUxTheme fake(lib);
    TestWindow wnd("Static");
    ASSERT_NE((HWND)NULL, wnd.m_hWnd);
    lib.OpenThemeData(wnd.m_hWnd, L"");
    EXPECT_EQ(0, ::lstrcmpiW(L"Static", Fake().sLastOpenList.c_str()));
    lib.CloseThemeData(false);
    lib.OpenThemeData(wnd.m_hWnd, NULL);
    EXPECT_EQ(0, ::lstrcmpiW(L"Static", Fake().sLastOpenList.c_str()));
}

TEST_F(UxThemeWrapperTest, CloseKeepsOrReleasesTheHandle)
{
    UxThemeLibrary lib;
    FakeUxTheme fake(lib);
    TestWindow wnd;
    HTHEME h = lib.OpenThemeData(wnd.m_hWnd, L"BUTTON");
    EXPECT_EQ(0, lib.CloseThemeData(true));
    EXPECT_EQ(h, lib.GetOpenTheme());
    EXPECT_EQ(0, Fake().nCloseCalls);
    EXPECT_EQ(S_OK, lib.CloseThemeData(false));
    EXPECT_EQ((HTHEME)NULL, lib.GetOpenTheme());
    EXPECT_EQ(1, Fake().nCloseCalls);
    EXPECT_STREQ(L"", lib.GetOpenThemeClassList());
    // Nothing open: nothing to do.
    EXPECT_EQ(0, lib.CloseThemeData(false));
    EXPECT_EQ(1, Fake().nCloseCalls);
}

TEST_F(UxThemeWrapperTest, HandleOfADestroyedWindowIsStillReleased)
{
    UxThemeLibrary lib;
    FakeUxTheme fake(lib);
    TestWindow wnd;
    lib.OpenThemeData(wnd.m_hWnd, L"BUTTON");
    wnd.Destroy();
    // The next open cannot reuse it and must not leak it either.
    TestWindow other;
    lib.OpenThemeData(other.m_hWnd, L"BUTTON");
    EXPECT_EQ(1, Fake().nCloseCalls);
    EXPECT_EQ(2, Fake().nOpenCalls);
}

TEST_F(UxThemeWrapperTest, AnsiTextIsConvertedWithItsWideLength)
{
    UxThemeLibrary lib;
    FakeUxTheme fake(lib);
    lib.DrawThemeText(NULL, 1, 1, "Hello world", 5, 0, 0, NULL);
    EXPECT_EQ(L"Hello", Fake().sLastDrawText);
    EXPECT_EQ(5, Fake().nLastDrawTextCount);
    lib.DrawThemeText(NULL, 1, 1, "Whole text", -1, 0, 0, NULL);
    EXPECT_EQ(L"Whole text", Fake().sLastDrawText);
    EXPECT_EQ(-1, Fake().nLastDrawTextCount);
    // A count past the end of the text reads and passes only the text.
    const char szShort[16] = "Abc\0Zzzzzzzzzz";
    lib.DrawThemeText(NULL, 1, 1, szShort, 12, 0, 0, NULL);
    EXPECT_EQ(L"Abc", Fake().sLastDrawText);
    EXPECT_EQ(3, Fake().nLastDrawTextCount);
    // Far beyond any fixed buffer.
    std::string sLong(5000, 'x');
    lib.DrawThemeText(NULL, 1, 1, sLong.c_str(), -1, 0, 0, NULL);
    EXPECT_EQ(5000u, Fake().sLastDrawText.size());
    EXPECT_EQ(S_OK, lib.DrawThemeText(NULL, 1, 1, (LPCSTR)NULL, 0, 0, 0, NULL));
    EXPECT_EQ(L"", Fake().sLastDrawText);
}

TEST_F(UxThemeWrapperTest, UsableNeedsAnActiveStyleAndControlsAndForSixNewCommonControls)
{
    UxThemeLibrary lib;
    FakeUxTheme fake(lib);
    lib.m_dwComCtlVersion = (5 << 16) | 82;
    EXPECT_TRUE(lib.IsUsable(false));
    EXPECT_FALSE(lib.IsUsable(true));
    lib.m_dwComCtlVersion = (6 << 16) | 0;
    EXPECT_TRUE(lib.IsUsable(true));
    Fake().dwAppProperties = STAP_ALLOW_NONCLIENT;
    EXPECT_FALSE(lib.IsUsable(false));
    Fake().dwAppProperties = STAP_ALLOW_CONTROLS;
    Fake().bThemeActive = false;
    EXPECT_FALSE(lib.IsUsable(false));
}

TEST_F(UxThemeWrapperTest, MissingLibraryAnswersTheFailureValues)
{
    UxThemeLibrary lib;
    HMODULE hSaved = lib.m_hModule;
    BYTE nSavedFlags = lib.m_nFlags;
    lib.m_hModule = NULL;
    lib.m_nFlags = 0;
    TestWindow wnd;
    RECT rc = {0, 0, 10, 10};
    COLORREF clr = 0;
    int n = 0;
    SIZE sz = {0, 0};
    WCHAR buf[8];
    EXPECT_EQ((HTHEME)NULL, lib.OpenThemeData(wnd.m_hWnd, L"BUTTON"));
    EXPECT_EQ(0, lib.CloseThemeData(false));
    EXPECT_EQ(1, lib.DrawThemeBackground(NULL, 1, 1, &rc, &rc));
    EXPECT_EQ(1, lib.DrawThemeText(NULL, 1, 1, L"x", 1, 0, 0, &rc));
    EXPECT_EQ(1, lib.DrawThemeText(NULL, 1, 1, "x", 1, 0, 0, &rc));
    EXPECT_EQ(1, lib.GetThemePartSize(NULL, 1, 1, &rc, 0, &sz));
    EXPECT_FALSE(lib.IsThemeBackgroundPartiallyTransparent(1, 1));
    EXPECT_EQ(1, lib.GetThemeColor(1, 1, 1, &clr));
    EXPECT_EQ(1, lib.GetThemeMetric(NULL, 1, 1, 1, &n));
    EXPECT_FALSE(lib.IsThemeActive());
    EXPECT_FALSE(lib.IsAppThemed());
    EXPECT_EQ(0u, lib.GetThemeAppProperties());
    EXPECT_EQ(1, lib.GetCurrentThemeName(buf, 8, buf, 8, buf, 8));
    EXPECT_EQ(1, lib.DrawThemeParentBackground(wnd.m_hWnd, NULL, &rc));
    EXPECT_FALSE(lib.IsUsable(false));
    lib.m_hModule = hSaved;
    lib.m_nFlags = nSavedFlags;
}

TEST_F(UxThemeWrapperTest, ThePlatformsOwnStyleIsNoLunaScheme)
{
    // Whatever the platform answers for IsAppThemed, it runs no Windows XP Luna style,
    // so the detection finds no scheme and the Luna themes use the system colours.
    g_CurrentPaintManager.DetectLunaColorScheme();
    EXPECT_EQ(0, g_CurrentPaintManager.m_nLunaColorScheme);
    CExtPaintManager* pPM = themetest::InstallTheme(RUNTIME_CLASS(CExtPaintManagerStudio2005));
    EXPECT_FALSE(pPM->UsesLunaColors());
    EXPECT_EQ(0, pPM->GetLunaColorScheme());
    EXPECT_EQ(RGB(255, 255, 255), pPM->LookupColor(3010));
    themetest::InstallTheme(RUNTIME_CLASS(CExtPaintManagerXP));
}
