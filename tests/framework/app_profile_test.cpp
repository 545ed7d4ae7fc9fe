// The application's profile in the registry (HKCU\Software\<key>\<profile>\<section>),
// read back through raw registry calls; values of the wrong type or size give the
// default. Plus the application globals and message boxes with the application title.
#include <gtest/gtest.h>
#include "framework_test_app.h"
#include "support/registry_sandbox.h"
#include "support/message_pump.h"

using testsupport::RegistrySandbox;

namespace {

// Redirects HKEY_CURRENT_USER into a sandbox that has a Software key, and gives the
// application a registry key and profile name for the test's duration.
class AppProfile : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(box.Override(HKEY_CURRENT_USER, "hkcu"));
        HKEY k;
        ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, "Software", 0, NULL, 0, KEY_ALL_ACCESS, NULL, &k, NULL));
        RegCloseKey(k);
        app.SetRegistryKey("Corvalin Test");
        free((void*)app.m_pszProfileName);
        app.m_pszProfileName = _strdup("Profile Test");
    }
    void TearDown() override {
        box.RestoreOverrides();
        free((void*)app.m_pszRegistryKey);
        app.m_pszRegistryKey = NULL;
    }
    static std::string SectionPath(const char* section) {
        return std::string("Software\\Corvalin Test\\Profile Test\\") + section;
    }
    static bool Read(const char* section, const char* entry, DWORD& type, std::string& data) {
        HKEY k;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, SectionPath(section).c_str(), 0, KEY_READ, &k) != ERROR_SUCCESS)
            return false;
        char buf[512];
        DWORD size = sizeof(buf);
        LONG r = RegQueryValueExA(k, entry, NULL, &type, (BYTE*)buf, &size);
        RegCloseKey(k);
        if (r != ERROR_SUCCESS) return false;
        data.assign(buf, size);
        return true;
    }
    RegistrySandbox box;
    CWinApp& app = TestApp();
};

}  // namespace

TEST_F(AppProfile, IntegersRoundTripAsDwordUnderTheProfileKey) {
    EXPECT_TRUE(app.WriteProfileInt("Nimbo Purgelet", "SizeType", 3));
    EXPECT_TRUE(app.WriteProfileInt("Nimbo Purgelet", "Negative", -5));
    DWORD type = 0;
    std::string data;
    ASSERT_TRUE(Read("Nimbo Purgelet", "SizeType", type, data));
    EXPECT_EQ((DWORD)REG_DWORD, type);
    ASSERT_EQ(4u, data.size());
    EXPECT_EQ(3u, *(const DWORD*)data.data());
    EXPECT_EQ(3u, app.GetProfileInt("Nimbo Purgelet", "SizeType", 9));
    EXPECT_EQ((UINT)-5, app.GetProfileInt("Nimbo Purgelet", "Negative", 9));
    EXPECT_EQ(42u, app.GetProfileInt("Nimbo Purgelet", "Missing", 42));
    EXPECT_EQ(7u, app.GetProfileInt("Other Section", "SizeType", 7));
}

TEST_F(AppProfile, ValuesOfTheWrongTypeOrSizeGiveTheDefault) {
    std::string path = SectionPath("S");
    ASSERT_TRUE(RegistrySandbox::SetString(HKEY_CURRENT_USER, path, "IntAsText", "12"));
    DWORD four = 12;
    ASSERT_TRUE(RegistrySandbox::SetBinary(HKEY_CURRENT_USER, path, "IntAsBinary", &four, 4));
    unsigned long long eight = 12;
    ASSERT_TRUE(RegistrySandbox::SetBinary(HKEY_CURRENT_USER, path, "IntAsQword", &eight, 8, REG_QWORD));
    ASSERT_TRUE(RegistrySandbox::SetBinary(HKEY_CURRENT_USER, path, "ShortDword", &four, 2, REG_DWORD));
    ASSERT_TRUE(RegistrySandbox::SetDword(HKEY_CURRENT_USER, path, "TextAsDword", 5));
    ASSERT_TRUE(RegistrySandbox::SetString(HKEY_CURRENT_USER, path, "Expand", "%TEMP%", REG_EXPAND_SZ));
    const char* intEntries[] = {"IntAsText", "IntAsBinary", "IntAsQword", "ShortDword"};
    for (const char* e : intEntries) EXPECT_EQ(77u, app.GetProfileInt("S", e, 77)) << e;
    EXPECT_EQ(CString("dflt"), app.GetProfileString("S", "TextAsDword", "dflt"));
    EXPECT_EQ(CString("dflt"), app.GetProfileString("S", "Expand", "dflt"));
    EXPECT_EQ(CString(""), app.GetProfileString("S", "Missing"));
}

TEST_F(AppProfile, StringsRoundTripAsRegSzAndSurviveAMissingTerminator) {
    EXPECT_TRUE(app.WriteProfileString("Nimbo Purgelet", "GridColor1", "255,240,200"));
    DWORD type = 0;
    std::string data;
    ASSERT_TRUE(Read("Nimbo Purgelet", "GridColor1", type, data));
    EXPECT_EQ((DWORD)REG_SZ, type);
    EXPECT_EQ(std::string("255,240,200\0", 12), data);
    EXPECT_EQ(CString("255,240,200"), app.GetProfileString("Nimbo Purgelet", "GridColor1", "x"));

    // Stored by someone else without the final zero: read exactly the bytes there are.
    ASSERT_TRUE(RegistrySandbox::SetBinary(HKEY_CURRENT_USER, SectionPath("Nimbo Purgelet"), "Raw", "abc", 3, REG_SZ));
    EXPECT_EQ(CString("abc"), app.GetProfileString("Nimbo Purgelet", "Raw", "x"));
}

TEST_F(AppProfile, NullValueDeletesTheEntryAndNullEntryTheSection) {
    ASSERT_TRUE(app.WriteProfileString("Sec", "A", "1"));
    ASSERT_TRUE(app.WriteProfileString("Sec", "B", "2"));
    EXPECT_TRUE(app.WriteProfileString("Sec", "A", NULL));
    EXPECT_EQ(CString("gone"), app.GetProfileString("Sec", "A", "gone"));
    EXPECT_EQ(CString("2"), app.GetProfileString("Sec", "B", "gone"));
    EXPECT_TRUE(app.WriteProfileString("Sec", NULL, NULL));
    EXPECT_FALSE(RegistrySandbox::KeyExists(HKEY_CURRENT_USER, SectionPath("Sec")));
}

TEST_F(AppProfile, KeysFollowTheRegistryKeyAndProfileName) {
    HKEY hApp = app.GetAppRegistryKey();
    ASSERT_TRUE(hApp != NULL);
    RegCloseKey(hApp);
    EXPECT_TRUE(RegistrySandbox::KeyExists(HKEY_CURRENT_USER, "Software\\Corvalin Test\\Profile Test"));
    HKEY hSec = app.GetSectionKey("Alpha");
    ASSERT_TRUE(hSec != NULL);
    RegCloseKey(hSec);
    EXPECT_TRUE(RegistrySandbox::KeyExists(HKEY_CURRENT_USER, SectionPath("Alpha")));
    // SetRegistryKey starts the profile name afresh from the application name.
    app.SetRegistryKey("Corvalin Test");
    EXPECT_STREQ("Framework Tests", app.m_pszProfileName);
    EXPECT_STREQ("Corvalin Test", app.m_pszRegistryKey);
}

TEST(AppProfileWithoutKey, WithoutARegistryKeyNothingIsStored) {
    CWinApp& app = TestApp();
    ASSERT_TRUE(app.m_pszRegistryKey == NULL);
    EXPECT_FALSE(app.WriteProfileInt("S", "E", 1));
    EXPECT_EQ(5u, app.GetProfileInt("S", "E", 5));
    EXPECT_EQ(CString("d"), app.GetProfileString("S", "E", "d"));
}

TEST(AppGlobals, AfxGetAppAndMainWindowAndMessageBoxesGoThroughTheApplication) {
    CFrameworkTestApp& app = TestApp();
    EXPECT_EQ(&app, AfxGetApp());
    EXPECT_EQ(static_cast<CWinThread*>(&app), AfxGetThread());
    EXPECT_STREQ("Framework Tests", app.m_pszAppName);
    EXPECT_TRUE(AfxGetMainWnd() == NULL);

    app.m_bRecordBoxes = true;
    app.m_boxes.clear();
    app.m_nBoxAnswer = IDNO;
    EXPECT_EQ(IDNO, AfxMessageBox("Remove the entry?", MB_YESNO));
    app.m_bRecordBoxes = false;
    ASSERT_EQ(1u, app.m_boxes.size());
    EXPECT_EQ("Remove the entry?", app.m_boxes[0].text);
    EXPECT_EQ((UINT)MB_YESNO, app.m_boxes[0].type);
}

namespace {
std::string g_boxCaption, g_boxText;
BOOL CALLBACK FindBox(HWND h, LPARAM p) {
    char cls[32];
    GetClassNameA(h, cls, sizeof(cls));
    if (strcmp(cls, "#32770") == 0 && IsWindowVisible(h)) {
        *(HWND*)p = h;
        return FALSE;
    }
    return TRUE;
}
VOID CALLBACK CloseBoxTimer(HWND, UINT, UINT_PTR id, DWORD) {
    HWND hBox = NULL;
    EnumThreadWindows(GetCurrentThreadId(), FindBox, (LPARAM)&hBox);
    if (hBox == NULL) return;
    KillTimer(NULL, id);
    char buf[256];
    GetWindowTextA(hBox, buf, sizeof(buf));
    g_boxCaption = buf;
    // The text is the box's static control with id 0xFFFF.
    GetDlgItemTextA(hBox, 0xFFFF, buf, sizeof(buf));
    g_boxText = buf;
    PostMessageA(hBox, WM_COMMAND, IDCANCEL, 0);
}
}  // namespace

TEST(AppGlobals, TheRealMessageBoxCarriesTheApplicationTitle) {
    CFrameworkTestApp& app = TestApp();
    app.m_bRecordBoxes = false;
    app.m_filterCodes.clear();
    g_boxCaption.clear();
    UINT_PTR t = SetTimer(NULL, 0, 50, CloseBoxTimer);
    ASSERT_NE(0u, t);
    int r = AfxMessageBox("Couldn't launch the program", MB_OKCANCEL);
    KillTimer(NULL, t);
    EXPECT_EQ(IDCANCEL, r);
    EXPECT_EQ("Framework Tests", g_boxCaption);
    EXPECT_EQ("Couldn't launch the program", g_boxText);
    // The system's own dialog loop went through the application's message filter.
    EXPECT_FALSE(app.m_filterCodes.empty());
    if (!app.m_filterCodes.empty()) {
        EXPECT_EQ(MSGF_DIALOGBOX, app.m_filterCodes[0]);
    }
}

namespace {
HWND g_boxOwner = NULL, g_mainWnd = NULL;
bool g_mainEnabledDuringBox = true;
VOID CALLBACK InspectBoxTimer(HWND, UINT, UINT_PTR id, DWORD) {
    HWND hBox = NULL;
    EnumThreadWindows(GetCurrentThreadId(), FindBox, (LPARAM)&hBox);
    if (hBox == NULL) return;
    KillTimer(NULL, id);
    g_boxOwner = GetWindow(hBox, GW_OWNER);
    g_mainEnabledDuringBox = IsWindowEnabled(g_mainWnd) != FALSE;
    PostMessageA(hBox, WM_COMMAND, IDCANCEL, 0);
}
}  // namespace

TEST(AppGlobals, AMessageBoxOverAModelessPopupHoldsTheWholeApplication) {
    CFrameworkTestApp& app = TestApp();
    app.m_bRecordBoxes = false;
    LPCTSTR cls = AfxRegisterWndClass(0, ::LoadCursor(NULL, IDC_ARROW), (HBRUSH)(COLOR_WINDOW + 1));
    CWnd mainWnd, modeless;
    ASSERT_TRUE(mainWnd.CreateEx(0, cls, "main", WS_POPUP | WS_VISIBLE, CRect(0, 0, 200, 150), NULL, 0));
    ASSERT_TRUE(modeless.CreateEx(0, cls, "modeless", WS_POPUP | WS_VISIBLE, CRect(20, 20, 120, 90), &mainWnd, 0));
    ::SetForegroundWindow(modeless.m_hWnd);
    ::SetActiveWindow(modeless.m_hWnd);
    ASSERT_EQ(modeless.m_hWnd, ::GetLastActivePopup(mainWnd.m_hWnd));
    app.m_pMainWnd = &mainWnd;
    g_mainWnd = mainWnd.m_hWnd;
    g_boxOwner = NULL;
    g_mainEnabledDuringBox = true;

    UINT_PTR t = SetTimer(NULL, 0, 50, InspectBoxTimer);
    ASSERT_NE(0u, t);
    AfxMessageBox("Remove the entry?", MB_OKCANCEL);
    KillTimer(NULL, t);
    app.m_pMainWnd = NULL;

    // The popup the user was in owns the box, and the main window waited with it.
    EXPECT_EQ(modeless.m_hWnd, g_boxOwner);
    EXPECT_FALSE(g_mainEnabledDuringBox);
    EXPECT_TRUE(mainWnd.IsWindowEnabled());
    EXPECT_TRUE(modeless.IsWindowEnabled());
    modeless.DestroyWindow();
    mainWnd.DestroyWindow();
}

TEST(AppGlobals, AShortLivedApplicationObjectStandsInAndThenHandsBack) {
    CFrameworkTestApp& app = TestApp();
    {
        CWinApp local("Local App");
        EXPECT_EQ(&local, AfxGetApp());
        EXPECT_EQ(static_cast<CWinThread*>(&local), AfxGetThread());
        EXPECT_STREQ("Local App", AfxGetAppName());
    }
    EXPECT_EQ(&app, AfxGetApp());
    EXPECT_EQ(static_cast<CWinThread*>(&app), AfxGetThread());
    EXPECT_STREQ("Framework Tests", AfxGetAppName());
}
