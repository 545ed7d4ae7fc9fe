// The command manager: the "default" profile, profile set-up, window bindings and the
// lookup of a window's profile through its parents and control bars, the pass-through
// operations and the relayed system changes.
#include <gtest/gtest.h>

#include "framework/framework.h"
#include "toolkit/core/cmd_icon.h"
#include "toolkit/core/cmd_manager.h"
#include "toolkit/core/resource_manager.h"
#include "tests/toolkit/core/cmd_test_ids.h"

namespace {

HWND MakeWindow(HWND hParent = NULL, const char* sClass = "STATIC") {
    return ::CreateWindowA(sClass, "", hParent ? (WS_CHILD | WS_VISIBLE) : WS_POPUP, 0, 0, 40, 40, hParent, NULL,
                           NULL, NULL);
}

// A dock-site answer for the test's "control bar": the window whose class is
// "CmdMgrTestBar" docks to whatever its GWLP_USERDATA names.
HWND TestDockSiteOfBar(HWND hWnd) {
    char sClass[64] = {0};
    ::GetClassNameA(hWnd, sClass, sizeof(sClass));
    if (lstrcmpiA(sClass, "CmdMgrTestBar") != 0)
        return NULL;
    return (HWND)::GetWindowLongPtr(hWnd, GWLP_USERDATA);
}

}  // namespace

TEST(CmdManager, StartsWithTheDefaultProfile) {
    CExtCmdManager mgr;
    CExtCmdProfile* pDefault = mgr.ProfileGetPtr("default");
    ASSERT_NE(pDefault, nullptr);
    EXPECT_EQ(mgr.ProfileGetPtr(NULL), pDefault);
    EXPECT_EQ(mgr.ProfileGetPtr("Default"), nullptr) << "names are case-sensitive";
    ASSERT_NE(g_CommandManager.operator->(), nullptr);
    EXPECT_NE(g_CommandManager->ProfileGetPtr(NULL), nullptr);
    EXPECT_TRUE(CExtCmdManager::IsCommand(1));
    EXPECT_FALSE(CExtCmdManager::IsCommand(0));
    EXPECT_FALSE(CExtCmdManager::IsCommand(UINT(-1)));
    EXPECT_FALSE(CExtCmdManager::IsCommand(0x80000000u));
}

TEST(CmdManager, SetupBindsWindowsOnce) {
    CExtCmdManager mgr;
    HWND hWnd = MakeWindow();
    HWND hOther = MakeWindow();
    EXPECT_TRUE(mgr.ProfileSetup("", hWnd));
    EXPECT_STREQ(mgr.ProfileNameFromWnd(hWnd), "default");

    CExtCmdProfile* pOwn = new CExtCmdProfile("A");
    EXPECT_TRUE(mgr.ProfileSetup("A", hOther, pOwn));
    EXPECT_EQ(mgr.ProfileGetPtr("A"), pOwn);
    CExtCmdProfile* pUnused = new CExtCmdProfile("A2");
    EXPECT_TRUE(mgr.ProfileSetup("A", NULL, pUnused));
    EXPECT_EQ(mgr.ProfileGetPtr("A"), pOwn) << "an existing profile stays";
    delete pUnused;

    EXPECT_TRUE(mgr.ProfileSetup("B"));
    EXPECT_TRUE(mgr.ProfileWndAdd("B", hOther)) << "already bound: true";
    EXPECT_STREQ(mgr.ProfileNameFromWnd(hOther), "A") << "and not moved";
    EXPECT_FALSE(mgr.ProfileWndAdd("B", NULL));
    EXPECT_FALSE(mgr.ProfileWndAdd("nope", hWnd));
    ::DestroyWindow(hWnd);
    ::DestroyWindow(hOther);
}

TEST(CmdManager, DestroyRespectsBindings) {
    CExtCmdManager mgr;
    HWND hWnd = MakeWindow();
    ASSERT_TRUE(mgr.ProfileSetup("A", hWnd));
    EXPECT_FALSE(mgr.ProfileDestroy("A", false));
    EXPECT_NE(mgr.ProfileGetPtr("A"), nullptr);
    EXPECT_TRUE(mgr.ProfileDestroy("A", true));
    EXPECT_EQ(mgr.ProfileGetPtr("A"), nullptr);
    EXPECT_EQ(mgr.ProfileNameFromWnd(hWnd), nullptr);
    EXPECT_FALSE(mgr.ProfileDestroy("A", true));
    EXPECT_FALSE(mgr.ProfileDestroy(NULL, true));
    EXPECT_FALSE(mgr.ProfileDestroy("", true));
    ASSERT_TRUE(mgr.ProfileSetup("C"));
    EXPECT_TRUE(mgr.ProfileDestroy("C", false)) << "nothing bound";
    ::DestroyWindow(hWnd);
}

TEST(CmdManager, ProfileOfAWindowIsFoundThroughParentsAndBars) {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = ::DefWindowProcA;
    wc.hInstance = ::GetModuleHandle(NULL);
    wc.lpszClassName = "CmdMgrTestBar";
    ::RegisterClassA(&wc);

    CExtCmdManager mgr;
    HWND hFrame = MakeWindow();
    HWND hChild = MakeWindow(hFrame);
    HWND hGrandChild = MakeWindow(hChild);
    ASSERT_TRUE(mgr.ProfileSetup("frame", hFrame));
    EXPECT_STREQ(mgr.ProfileNameFromWnd(hGrandChild), "frame");
    EXPECT_EQ(mgr.ProfileNameFromWnd(NULL), nullptr);

    // A floating mini frame holds a bar that docks to the frame; a button on the bar
    // finds the frame's profile through the bar's dock site.
    HWND hMiniFrame = MakeWindow();
    HWND hBar = ::CreateWindowA("CmdMgrTestBar", "", WS_CHILD, 0, 0, 10, 10, hMiniFrame, NULL, NULL, NULL);
    HWND hButton = MakeWindow(hBar);
    ::SetWindowLongPtr(hBar, GWLP_USERDATA, (LONG_PTR)hFrame);
    EXPECT_EQ(mgr.ProfileNameFromWnd(hButton), nullptr) << "without the bars' answer";
    CExtCmdManager::g_pfnDockSiteOfBar = TestDockSiteOfBar;
    EXPECT_STREQ(mgr.ProfileNameFromWnd(hButton), "frame");
    CExtCmdManager::g_pfnDockSiteOfBar = NULL;
    ::DestroyWindow(hMiniFrame);
    ::DestroyWindow(hFrame);
}

TEST(CmdManager, OperationsReachTheNamedProfile) {
    CExtCmdManager mgr;
    ASSERT_TRUE(mgr.ProfileSetup("P"));
    CExtCmdItem cmd(ID_TEST_OPEN);
    cmd.m_sMenuText = "Open";
    bool bNew = false;
    EXPECT_TRUE(mgr.CmdSetup("P", cmd, false, &bNew));
    EXPECT_TRUE(bNew);
    EXPECT_FALSE(mgr.CmdSetup("missing", cmd, false, &bNew));
    EXPECT_FALSE(bNew);
    ASSERT_NE(mgr.CmdGetPtr("P", ID_TEST_OPEN), nullptr);
    EXPECT_EQ(mgr.CmdGetPtr(NULL, ID_TEST_OPEN), nullptr) << "not in default";

    CExtCmdIcon icon;
    EXPECT_TRUE(mgr.CmdGetIcon("missing", 1).IsEmpty()) << "never null, even without a profile";
    EXPECT_EQ(mgr.CmdGetIconPtr("P", ID_TEST_OPEN), nullptr);
    CExtBitmap strip;
    ASSERT_TRUE(g_CurrentResourceManager->LoadBitmap(strip, IDR_TEST_TOOLBAR));
    RECT rc = {32, 0, 48, 15};
    EXPECT_TRUE(mgr.CmdSetIconFromBitmap("P", ID_TEST_OPEN, strip, rc));
    ASSERT_NE(mgr.CmdGetIconPtr("P", ID_TEST_OPEN), nullptr);
    EXPECT_EQ(mgr.CmdGetIcon("P", ID_TEST_OPEN).m_bmpNormal.GetPixelColor(4, 4), RGB(0, 0, 255));
    EXPECT_TRUE(mgr.CmdSetIcon("P", ID_TEST_OPEN, icon)) << "an empty icon removes it";
    EXPECT_EQ(mgr.CmdGetIconPtr("P", ID_TEST_OPEN), nullptr);
    HICON hIcon = ::LoadIcon(NULL, IDI_APPLICATION);
    EXPECT_TRUE(mgr.CmdSetIconFromHICON("P", ID_TEST_OPEN, hIcon, true));
    EXPECT_NE(mgr.CmdGetIconPtr("P", ID_TEST_OPEN), nullptr);

    CExtCmdItem* pAlloc = mgr.CmdAllocPtr("P");
    ASSERT_NE(pAlloc, nullptr);
    EXPECT_EQ(pAlloc->m_nCmdID, 65534u);
    bool bRemoved = false;
    EXPECT_TRUE(mgr.CmdRemove("P", 65534, &bRemoved));
    EXPECT_TRUE(bRemoved);
    EXPECT_TRUE(mgr.CmdRemoveByMask("P", 0x1));
    EXPECT_FALSE(mgr.CmdRemoveByMask("missing", 0x1));

    EXPECT_TRUE(mgr.UpdateFromMenuResource("P", IDR_TEST_MENU));
    EXPECT_NE(mgr.CmdGetPtr("P", ID_TEST_PASTE), nullptr);
    UINT* pIDs = NULL;
    INT nCount = 0;
    EXPECT_TRUE(mgr.UpdateFromToolBarResource("P", (UINT)(0x10000 | IDR_TEST_TOOLBAR), &pIDs, &nCount))
        << "the low word of the id is used";
    EXPECT_EQ(nCount, 3);
    delete[] pIDs;
    EXPECT_FALSE(mgr.UpdateFromMenuResource("missing", IDR_TEST_MENU));
    mgr.CmdRemoveAll("P");
    EXPECT_EQ(mgr.ProfileGetPtr("P")->m_cmds.GetCount(), 0);
}

namespace {

CWnd* g_pRelay = NULL;
bool OnlyTheRelay(CWnd* pWnd) { return pWnd == g_pRelay; }

}  // namespace

TEST(CmdManager, SystemChangesReachIconsOnlyThroughTheRelay) {
    ASSERT_TRUE(g_CommandManager->ProfileSetup("relay"));
    CExtCmdItem cmd(ID_TEST_OPEN);
    ASSERT_TRUE(g_CommandManager->CmdSetup("relay", cmd));
    CExtBitmap strip;
    ASSERT_TRUE(g_CurrentResourceManager->LoadBitmap(strip, IDR_TEST_TOOLBAR));
    RECT rc = {0, 0, 16, 15};
    ASSERT_TRUE(g_CommandManager->CmdSetIconFromBitmap("relay", ID_TEST_OPEN, strip, rc));
    CExtCmdIcon* pIcon = g_CommandManager->CmdGetIconPtr("relay", ID_TEST_OPEN);
    ASSERT_NE(pIcon, nullptr);
    ASSERT_TRUE(pIcon->m_bmpDisabled.IsEmpty());

    CWnd relay, other;
    g_pRelay = &relay;
    CExtCmdManagerHolder::g_pfnIsSystemChangeRelay = OnlyTheRelay;
    g_CommandManager.OnSysColorChange(NULL, &other);
    EXPECT_TRUE(pIcon->m_bmpDisabled.IsEmpty()) << "not the relay: nothing happens";
    g_CommandManager.OnSysColorChange(NULL, &relay);
    EXPECT_FALSE(pIcon->m_bmpDisabled.IsEmpty()) << "the disabled look is made again";
    g_CommandManager.OnPaintManagerChanged();
    EXPECT_TRUE(pIcon->m_bmpDisabled.IsEmpty()) << "generated images are dropped";
    g_CommandManager.OnSettingChange(NULL, &relay, 0, NULL);
    EXPECT_FALSE(pIcon->m_bmpDisabled.IsEmpty());
    CExtCmdManagerHolder::g_pfnIsSystemChangeRelay = NULL;
    g_pRelay = NULL;
    EXPECT_TRUE(g_CommandManager->ProfileDestroy("relay", true));
}
