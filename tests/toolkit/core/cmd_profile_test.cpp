// Command profiles: registration, icons and their indices, id allocation, learning from
// the test menu and toolbar resources and from a live toolbar, basic commands, copies;
// and the stored usage statistics (archive bytes, registry round trip, damaged data).
#include <gtest/gtest.h>

#include "framework/framework.h"
#include "support/archive_bytes.h"
#include "support/registry_sandbox.h"
#include "toolkit/core/bitmap.h"
#include "toolkit/core/cmd_icon.h"
#include "toolkit/core/cmd_manager.h"
#include "toolkit/core/cmd_profile.h"
#include "toolkit/core/registry_archiver.h"
#include "toolkit/core/resource_manager.h"
#include "tests/toolkit/core/cmd_test_icons.h"
#include "tests/toolkit/core/cmd_test_ids.h"

#include <commctrl.h>
#include <string.h>
#include <vector>

namespace {

void Register(CExtCmdProfile& profile, UINT id, LPCTSTR sMenu = NULL) {
    CExtCmdItem cmd(id);
    if (sMenu != NULL)
        cmd.m_sMenuText = sMenu;
    ASSERT_TRUE(profile.CmdSetup(cmd)) << id;
}

std::vector<BYTE> StoreState(CExtCmdProfile& profile) {
    return testsupport::StoredBytes([&](CArchive& ar) { EXPECT_TRUE(profile.SerializeState(ar)); });
}

bool LoadState(CExtCmdProfile& profile, std::vector<BYTE> bytes, bool bThrow = false) {
    CMemFile file(bytes.data(), (UINT)bytes.size());
    CArchive ar(&file, CArchive::load);
    return profile.SerializeState(ar, bThrow);
}

DWORD DwordAt(const std::vector<BYTE>& v, size_t pos) {
    return (DWORD)v[pos] | ((DWORD)v[pos + 1] << 8) | ((DWORD)v[pos + 2] << 16) | ((DWORD)v[pos + 3] << 24);
}

const char kCaption[] = "Kestrix (v. 2.5.4.0) command profile";

}  // namespace

TEST(CmdProfile, SetupRejectsNonCommandsAndMergesExisting) {
    CExtCmdProfile profile("p");
    EXPECT_EQ(profile.m_nRarelyUsedPercent, 10u);
    CExtCmdItem zero(0), negative(0x80000000u);
    bool bNew = true;
    EXPECT_FALSE(profile.CmdSetup(zero, false, &bNew));
    EXPECT_FALSE(bNew);
    EXPECT_FALSE(profile.CmdSetup(negative));
    EXPECT_EQ(profile.CmdGetPtr(0), nullptr);

    CExtCmdItem cmd(7);
    cmd.m_sMenuText = "Menu";
    EXPECT_TRUE(profile.CmdSetup(cmd, false, &bNew));
    EXPECT_TRUE(bNew);
    CExtCmdItem* p = profile.CmdGetPtr(7);
    ASSERT_NE(p, nullptr);
    EXPECT_NE(p, &cmd) << "the profile keeps a copy";
    EXPECT_EQ(p->m_pProfile, &profile);

    CExtCmdItem again(7);
    again.m_sMenuText = "Other";
    again.m_sTipTool = "Tip";
    EXPECT_TRUE(profile.CmdSetup(again, false, &bNew));
    EXPECT_FALSE(bNew);
    EXPECT_STREQ((LPCTSTR)p->m_sMenuText, "Menu");
    EXPECT_STREQ((LPCTSTR)p->m_sTipTool, "Tip");
    EXPECT_TRUE(profile.CmdSetup(again, true));
    EXPECT_STREQ((LPCTSTR)p->m_sMenuText, "Other");
    EXPECT_TRUE(profile.CmdIsRegistered(7));
    EXPECT_FALSE(profile.CmdIsRegistered(8));
}

TEST(CmdProfile, IconsKeepTheirIndicesValid) {
    CExtCmdProfile profile("icons");
    Register(profile, 1);
    Register(profile, 2);
    Register(profile, 3);
    const COLORREF colours[] = {RGB(255, 0, 0), RGB(0, 255, 0), RGB(0, 0, 255)};
    for (UINT id = 1; id <= 3; id++) {
        CExtCmdIcon icon;
        MakeSolidIcon(icon, colours[id - 1]);
        EXPECT_TRUE(profile.CmdSetIcon(id, icon)) << id;
        EXPECT_EQ(profile.CmdGetPtr(id)->m_nIconIndex, (int)id - 1) << id;
    }
    CExtCmdIcon stray;
    MakeSolidIcon(stray, 0);
    EXPECT_FALSE(profile.CmdSetIcon(99, stray)) << "unregistered";
    EXPECT_FALSE(profile.CmdSetIcon(0, stray));

    bool bRemoved = false;
    EXPECT_TRUE(profile.CmdRemove(2, &bRemoved));
    EXPECT_TRUE(bRemoved);
    ASSERT_EQ(profile.m_icons.GetSize(), 2);
    EXPECT_EQ(profile.CmdGetPtr(1)->m_nIconIndex, 0);
    EXPECT_EQ(profile.CmdGetPtr(3)->m_nIconIndex, 1) << "moved down from 2";
    EXPECT_EQ(profile.CmdGetIconPtr(3)->m_bmpNormal.GetPixelColor(3, 3), RGB(0, 0, 255));
    EXPECT_TRUE(profile.CmdRemove(55, &bRemoved)) << "unregistered: nothing to do";
    EXPECT_FALSE(bRemoved);
    EXPECT_FALSE(profile.CmdRemove(0));

    // Replacing an icon copies it into the same place; an empty icon removes it.
    CExtCmdIcon yellow;
    MakeSolidIcon(yellow, RGB(255, 255, 0));
    EXPECT_TRUE(profile.CmdSetIcon(1, yellow));
    EXPECT_EQ(profile.CmdGetPtr(1)->m_nIconIndex, 0);
    EXPECT_EQ(profile.CmdGetIconPtr(1)->m_bmpNormal.GetPixelColor(0, 0), RGB(255, 255, 0));
    CExtCmdIcon empty;
    EXPECT_TRUE(profile.CmdSetIcon(1, empty));
    EXPECT_EQ(profile.CmdGetPtr(1)->m_nIconIndex, -1);
    EXPECT_EQ(profile.CmdGetPtr(3)->m_nIconIndex, 0);
    EXPECT_EQ(profile.CmdGetIconPtr(1), nullptr);
    EXPECT_TRUE(profile.CmdGetIcon(1).IsEmpty()) << "never null";
    EXPECT_TRUE(profile.CmdGetIcon(12345).IsEmpty());

    // An icon cut from a bitmap, the transparent colour made clear.
    CExtBitmap strip;
    ASSERT_TRUE(g_CurrentResourceManager->LoadBitmap(strip, IDR_TEST_TOOLBAR));
    RECT rc = {16, 0, 32, 15};
    EXPECT_TRUE(profile.CmdSetIcon(1, strip, rc, RGB(255, 0, 255)));
    CExtCmdIcon* pCut = profile.CmdGetIconPtr(1);
    ASSERT_NE(pCut, nullptr);
    EXPECT_EQ(pCut->GetSize().cx, 16);
    BYTE alpha = 0xAA;
    EXPECT_EQ(pCut->m_bmpNormal.GetPixelColor(5, 5, &alpha), RGB(0, 255, 0));
    EXPECT_EQ(alpha, 255);
    pCut->m_bmpNormal.GetPixelColor(0, 0, &alpha);
    EXPECT_EQ(alpha, 0) << "the magenta corner";
}

namespace {

struct CountingIcon : CExtCmdIcon {
    explicit CountingIcon(int* pDeleted) : m_pDeleted(pDeleted) {}
    ~CountingIcon() override { ++*m_pDeleted; }
    int* m_pDeleted;
};

}  // namespace

TEST(CmdProfile, AnIconObjectHandedOverIsNeverLeaked) {
    CExtCmdProfile profile("handover");
    Register(profile, 1);
    int nDeleted = 0;
    struct Case {
        const char* what;
        UINT id;
        bool bEmpty;
        bool bResult;
        int nDeletedAfter;
    };
    const Case cases[] = {
        {"an id that is no command", 0, false, false, 1},
        {"an unregistered id", 99, false, false, 2},
        {"an empty icon", 1, true, true, 3},
        {"a stored icon", 1, false, true, 3},
    };
    for (const Case& c : cases) {
        CountingIcon* pIcon = new CountingIcon(&nDeleted);
        if (!c.bEmpty)
            MakeSolidIcon(*pIcon, RGB(1, 2, 3));
        EXPECT_EQ(profile.CmdSetIcon(c.id, pIcon, true), c.bResult) << c.what;
        EXPECT_EQ(nDeleted, c.nDeletedAfter) << c.what;
    }
    EXPECT_EQ(profile.CmdGetIconPtr(1)->GetSize().cx, 16);
    profile.CmdRemoveAll();
    EXPECT_EQ(nDeleted, 4) << "the stored icon goes with the profile's icons";
}

TEST(CmdProfile, AllocatesIdsDownFromTheTop) {
    CExtCmdProfile profile("alloc");
    CExtCmdItem* p = profile.CmdAllocPtr();
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->m_nCmdID, 65534u);
    Register(profile, 65533);
    p = profile.CmdAllocPtr(0);
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->m_nCmdID, 65532u);
    EXPECT_EQ(profile.CmdAllocPtr(65533), nullptr) << "taken";
    p = profile.CmdAllocPtr(500);
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->m_nCmdID, 500u);
}

TEST(CmdProfile, RemoveByMask) {
    CExtCmdProfile profile("mask");
    for (UINT id = 1; id <= 4; id++)
        Register(profile, id);
    profile.CmdGetPtr(1)->m_dwStateFlags = 0x100;
    profile.CmdGetPtr(2)->m_dwStateFlags = 0x300;
    profile.CmdGetPtr(3)->m_dwExStateFlags = 0x1;
    profile.CmdRemoveByMask(0x300, 0, true, false);
    EXPECT_TRUE(profile.CmdIsRegistered(1));
    EXPECT_FALSE(profile.CmdIsRegistered(2));
    profile.CmdRemoveByMask(0x100, 0x1);
    EXPECT_FALSE(profile.CmdIsRegistered(1));
    EXPECT_FALSE(profile.CmdIsRegistered(3));
    EXPECT_TRUE(profile.CmdIsRegistered(4));
}

TEST(CmdProfile, LearnsFromTheTestMenu) {
    g_CurrentResourceManager.InstallResourceManager(NULL);
    CExtCmdProfile profile("menu");
    EXPECT_FALSE(profile.UpdateFromMenuResource(0x7F06));
    ASSERT_TRUE(profile.UpdateFromMenuResource(IDR_TEST_MENU));
    EXPECT_EQ(profile.m_cmds.GetCount(), 4) << "open, exit, copy, paste; no separators, no sub-menus";
    CExtCmdItem* open = profile.CmdGetPtr(ID_TEST_OPEN);
    ASSERT_NE(open, nullptr);
    EXPECT_STREQ((LPCTSTR)open->m_sMenuText, "&Open");
    EXPECT_STREQ((LPCTSTR)open->m_sAccelText, "Ctrl+O");
    EXPECT_STREQ((LPCTSTR)open->m_sTipStatus, "Opens an existing document");
    EXPECT_STREQ((LPCTSTR)open->m_sTipTool, "Open");
    CExtCmdItem* paste = profile.CmdGetPtr(ID_TEST_PASTE);
    ASSERT_NE(paste, nullptr) << "found in the nested sub-menu";
    EXPECT_STREQ((LPCTSTR)paste->m_sMenuText, "&Paste");
    EXPECT_TRUE(paste->m_sAccelText.IsEmpty());
    EXPECT_EQ(profile.CmdGetPtr(UINT(-1)), nullptr);

    CExtCmdProfile noTips("no tips");
    CMenu menu;
    ASSERT_TRUE(g_CurrentResourceManager->LoadMenu(menu, IDR_TEST_MENU));
    EXPECT_TRUE(noTips.UpdateFromMenu(menu.GetSubMenu(0)->GetSafeHmenu(), false, false, false));
    EXPECT_EQ(noTips.m_cmds.GetCount(), 2);
    EXPECT_TRUE(noTips.CmdGetPtr(ID_TEST_OPEN)->m_sTipStatus.IsEmpty());
    EXPECT_FALSE(noTips.UpdateFromMenu(NULL));
    CMenu emptyMenu;
    emptyMenu.CreatePopupMenu();
    EXPECT_TRUE(noTips.UpdateFromMenu(emptyMenu.GetSafeHmenu()));
}

TEST(CmdProfile, LearnsFromTheTestToolbarResource) {
    g_CurrentResourceManager.InstallResourceManager(NULL);
    CExtCmdProfile profile("toolbar");
    UINT* pIDs = NULL;
    INT nCount = 0;
    ASSERT_TRUE(profile.UpdateFromToolBarResource(MAKEINTRESOURCE(IDR_TEST_TOOLBAR), &pIDs, &nCount, false, true,
                                                  RGB(255, 0, 255)));
    ASSERT_EQ(nCount, 3);
    ASSERT_NE(pIDs, nullptr);
    EXPECT_EQ(pIDs[0], (UINT)ID_TEST_OPEN);
    EXPECT_EQ(pIDs[1], (UINT)ID_TEST_COPY);
    EXPECT_EQ(pIDs[2], (UINT)ID_TEST_PASTE);
    delete[] pIDs;

    const struct {
        UINT id;
        COLORREF clr;
    } buttons[] = {{ID_TEST_OPEN, RGB(255, 0, 0)}, {ID_TEST_COPY, RGB(0, 255, 0)}, {ID_TEST_PASTE, RGB(0, 0, 255)}};
    for (const auto& b : buttons) {
        CExtCmdIcon* pIcon = profile.CmdGetIconPtr(b.id);
        ASSERT_NE(pIcon, nullptr) << b.id;
        EXPECT_EQ(pIcon->GetSize().cx, 16) << b.id;
        EXPECT_EQ(pIcon->GetSize().cy, 15) << b.id;
        BYTE alpha = 0;
        EXPECT_EQ(pIcon->m_bmpNormal.GetPixelColor(8, 8, &alpha), b.clr) << b.id;
        EXPECT_EQ(alpha, 255) << b.id;
        pIcon->m_bmpNormal.GetPixelColor(0, 0, &alpha);
        EXPECT_EQ(alpha, 0) << b.id << ": transparent colour";
    }
    EXPECT_STREQ((LPCTSTR)profile.CmdGetPtr(ID_TEST_PASTE)->m_sTipTool, "Paste");

    CExtCmdProfile opaque("opaque");
    ASSERT_TRUE(opaque.UpdateFromToolBarResource(MAKEINTRESOURCE(IDR_TEST_TOOLBAR)));
    BYTE alpha = 0;
    opaque.CmdGetIconPtr(ID_TEST_OPEN)->m_bmpNormal.GetPixelColor(0, 0, &alpha);
    EXPECT_EQ(alpha, 255) << "no transparent colour given";

    CExtCmdProfile missing("missing");
    EXPECT_FALSE(missing.UpdateFromToolBarResource(MAKEINTRESOURCE(IDR_TEST_MENU)));
    EXPECT_FALSE(missing.UpdateFromToolBarResource(MAKEINTRESOURCE(IDR_TEST_TOOLBAR_SHORT), &pIDs, &nCount))
        << "more items claimed than the resource holds";
    EXPECT_EQ(missing.m_cmds.GetCount(), 0);

    CExtCmdProfile wide("wide");
    ASSERT_TRUE(wide.UpdateFromToolBarResource(MAKEINTRESOURCE(IDR_TEST_TOOLBAR_WIDE), &pIDs, &nCount));
    ASSERT_EQ(nCount, 4) << "every button's id is handed back";
    ASSERT_NE(pIDs, nullptr);
    EXPECT_EQ(pIDs[3], (UINT)ID_TEST_EXIT);
    delete[] pIDs;
    ASSERT_NE(wide.CmdGetIconPtr(ID_TEST_PASTE), nullptr);
    EXPECT_EQ(wide.CmdGetIconPtr(ID_TEST_PASTE)->GetSize().cy, 15) << "the strip's full height";
    EXPECT_FALSE(wide.CmdIsRegistered(ID_TEST_EXIT)) << "a button beyond the strip has no image and is dropped";
    EXPECT_EQ(wide.m_cmds.GetCount(), 3);
}

TEST(CmdProfile, LearnsFromALiveToolbar) {
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_BAR_CLASSES};
    ::InitCommonControlsEx(&icc);
    HWND hParent = ::CreateWindowA("STATIC", "", WS_POPUP, 0, 0, 200, 50, NULL, NULL, NULL, NULL);
    HWND hTB = ::CreateWindowExA(0, TOOLBARCLASSNAMEA, "", WS_CHILD | TBSTYLE_LIST, 0, 0, 200, 30, hParent, NULL,
                                 NULL, NULL);
    ASSERT_NE(hTB, nullptr);
    ::SendMessage(hTB, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    CWnd wnd;
    wnd.Attach(hTB);
    CExtCmdProfile profile("live");
    EXPECT_FALSE(profile.UpdateFromToolBar(&wnd)) << "no image list";

    HIMAGELIST hIL = ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, 2, 0);
    CExtCmdIcon red;
    MakeSolidIcon(red, RGB(255, 0, 0));
    HICON hIcon = red.ExtractHICON(false);
    ImageList_AddIcon(hIL, hIcon);
    ::DestroyIcon(hIcon);
    ::SendMessage(hTB, TB_SETIMAGELIST, 0, (LPARAM)hIL);
    TBBUTTON tbb[3];
    memset(tbb, 0, sizeof(tbb));
    tbb[0].iBitmap = 0;
    tbb[0].idCommand = ID_TEST_OPEN;
    tbb[0].fsState = TBSTATE_ENABLED;
    tbb[0].iString = (INT_PTR) "Open it";
    tbb[1].fsStyle = BTNS_SEP;
    tbb[2].iBitmap = I_IMAGENONE;
    tbb[2].idCommand = ID_TEST_COPY;
    tbb[2].fsState = TBSTATE_ENABLED;
    tbb[2].iString = (INT_PTR) "Copy";
    ::SendMessage(hTB, TB_ADDBUTTONS, 3, (LPARAM)tbb);

    ASSERT_TRUE(profile.UpdateFromToolBar(&wnd));
    EXPECT_EQ(profile.m_cmds.GetCount(), 2);
    EXPECT_STREQ((LPCTSTR)profile.CmdGetPtr(ID_TEST_OPEN)->m_sToolbarText, "Open it");
    EXPECT_STREQ((LPCTSTR)profile.CmdGetPtr(ID_TEST_OPEN)->m_sTipTool, "Open");
    CExtCmdIcon* pIcon = profile.CmdGetIconPtr(ID_TEST_OPEN);
    ASSERT_NE(pIcon, nullptr);
    EXPECT_EQ(pIcon->m_bmpNormal.GetPixelColor(8, 8), RGB(255, 0, 0));
    EXPECT_EQ(profile.CmdGetIconPtr(ID_TEST_COPY), nullptr) << "no image";
    EXPECT_FALSE(profile.UpdateFromToolBar(NULL));
    wnd.Detach();
    ::DestroyWindow(hParent);
    ImageList_Destroy(hIL);
}

TEST(CmdProfile, BasicCommands) {
    CExtCmdProfile profile("basic");
    Register(profile, 10);
    Register(profile, 11);
    const UINT withSys[] = {10, 0xF060, 11, 0};
    EXPECT_FALSE(profile.SetBasicCommands(withSys));
    EXPECT_TRUE(profile.CmdGetPtr(10)->IsBasicCommand());
    EXPECT_TRUE(profile.CmdGetPtr(11)->IsBasicCommand());
    const UINT unknown[] = {10, 77, 0};
    EXPECT_FALSE(profile.SetBasicCommands(unknown, false));
    EXPECT_FALSE(profile.CmdGetPtr(10)->IsBasicCommand());
    const UINT none[] = {0};
    EXPECT_TRUE(profile.SetBasicCommands(none));
    EXPECT_FALSE(profile.SetBasicCommands(NULL));
}

TEST(CmdProfile, AssignFromMakesAnIndependentCopy) {
    CExtCmdProfile src("src");
    Register(src, 1, "One");
    Register(src, 2, "Two");
    CExtCmdIcon icon;
    MakeSolidIcon(icon, RGB(1, 2, 3));
    src.CmdSetIcon(2, icon);
    src.m_nTotalTickCount = 5;
    src.m_dwProfileData = 0xABCD;
    CExtCmdProfile dst("dst");
    Register(dst, 9);
    dst.AssignFrom(src);
    EXPECT_STREQ((LPCTSTR)dst.m_sName, "src");
    EXPECT_EQ(dst.m_cmds.GetCount(), 2);
    EXPECT_FALSE(dst.CmdIsRegistered(9));
    EXPECT_EQ(dst.m_dwProfileData, 0xABCDu);
    ASSERT_NE(dst.CmdGetIconPtr(2), nullptr);
    EXPECT_NE(dst.CmdGetIconPtr(2), src.CmdGetIconPtr(2));
    EXPECT_EQ(dst.CmdGetIconPtr(2)->m_bmpNormal.GetPixelColor(0, 0), RGB(1, 2, 3));
    dst.CmdGetPtr(1)->IncrementUsage();
    EXPECT_EQ(dst.m_nTotalTickCount, 6u);
    EXPECT_EQ(src.m_nTotalTickCount, 5u);
    EXPECT_EQ(src.CmdGetPtr(1)->GetUsageCount(), 0u);
}

TEST(CmdProfile, ResetUsageStatistics) {
    CExtCmdProfile profile("reset");
    Register(profile, 1);
    profile.CmdGetPtr(1)->IncrementUsage();
    profile.ResetUsageStatistics();
    EXPECT_EQ(profile.m_nTotalTickCount, 0u);
    EXPECT_EQ(profile.CmdGetPtr(1)->GetUsageCount(), 0u);
}

// ---- stored statistics -----------------------------------------------------------------

TEST(CmdProfileState, ToolkitVersion) {
    EXPECT_EQ(CExtCmdManager::GetVersionDWORD(), 0x02050400u);
    EXPECT_EQ(CExtCmdManager::GetVersionDWORD(true), 0x0205u);
    CString s;
    CExtCmdManager::GetVersionString(s);
    EXPECT_STREQ((LPCTSTR)s, "2.5.4.0");
    CExtCmdManager::GetVersionString(s, ',');
    EXPECT_STREQ((LPCTSTR)s, "2,5,4,0");
}

TEST(CmdProfileState, EmptyProfileBytes) {
    CExtCmdProfile profile("bytes");
    profile.m_nTotalTickCount = 0x11223344;
    std::vector<BYTE> bytes = StoreState(profile);
    const size_t nCaption = sizeof(kCaption) - 1;
    ASSERT_EQ(bytes.size(), 1 + nCaption + 32);
    EXPECT_EQ(bytes[0], nCaption);
    EXPECT_EQ(std::string((const char*)&bytes[1], nCaption), kCaption);
    size_t pos = 1 + nCaption;
    EXPECT_EQ(DwordAt(bytes, pos), 0x02050400u);
    EXPECT_EQ(DwordAt(bytes, pos + 4), 0x205u);
    for (int i = 0; i < 4; i++)
        EXPECT_EQ(DwordAt(bytes, pos + 8 + 4 * i), 0u);
    EXPECT_EQ(DwordAt(bytes, pos + 24), 0x11223344u);
    EXPECT_EQ(DwordAt(bytes, pos + 28), 0u);
}

TEST(CmdProfileState, OnlyCountedItemsAreWritten) {
    CExtCmdProfile profile("counted");
    const UINT ids[] = {100, 101, 102, 103, 104, 0xF020};
    for (UINT id : ids) {
        Register(profile, id);
        profile.CmdGetPtr(id)->m_nUsageTickCount = 5;
    }
    profile.CmdGetPtr(101)->m_nUsageTickCount = 0;
    profile.CmdGetPtr(102)->SetBasicCommand(true);
    profile.CmdGetPtr(103)->SetNoUsageCount(true);
    profile.CmdGetPtr(104)->SetStateBit6(true);
    profile.m_nTotalTickCount = 25;
    std::vector<BYTE> bytes = StoreState(profile);
    size_t pos = 1 + (sizeof(kCaption) - 1) + 28;
    ASSERT_EQ(bytes.size(), pos + 8 + 4);
    EXPECT_EQ(DwordAt(bytes, pos), 100u);
    EXPECT_EQ(DwordAt(bytes, pos + 4), 5u);
    EXPECT_EQ(DwordAt(bytes, pos + 8), 0u);
}

TEST(CmdProfileState, LoadRestoresCountersAndSkipsUnknownIds) {
    CExtCmdProfile src("a");
    Register(src, 100);
    Register(src, 200);
    Register(src, 300);
    src.CmdGetPtr(100)->m_nUsageTickCount = 3;
    src.CmdGetPtr(200)->m_nUsageTickCount = 4;
    src.CmdGetPtr(300)->m_nUsageTickCount = 9;
    src.m_nTotalTickCount = 16;
    std::vector<BYTE> bytes = StoreState(src);

    CExtCmdProfile dst("b");
    Register(dst, 200);
    Register(dst, 300);
    Register(dst, 400);
    dst.CmdGetPtr(400)->m_nUsageTickCount = 7;
    ASSERT_TRUE(LoadState(dst, bytes));
    EXPECT_EQ(dst.m_nTotalTickCount, 16u);
    EXPECT_EQ(dst.CmdGetPtr(200)->m_nUsageTickCount, 4u);
    EXPECT_EQ(dst.CmdGetPtr(300)->m_nUsageTickCount, 9u);
    EXPECT_EQ(dst.CmdGetPtr(400)->m_nUsageTickCount, 7u) << "no pair: keeps its value";
}

TEST(CmdProfileState, DamagedDataChangesNothing) {
    CExtCmdProfile src("a");
    Register(src, 100);
    src.CmdGetPtr(100)->m_nUsageTickCount = 3;
    src.m_nTotalTickCount = 3;
    std::vector<BYTE> bytes = StoreState(src);

    CExtCmdProfile dst("b");
    Register(dst, 100);
    dst.CmdGetPtr(100)->m_nUsageTickCount = 1;
    dst.m_nTotalTickCount = 1;

    std::vector<BYTE> wrongVersion = bytes;
    wrongVersion[1 + (sizeof(kCaption) - 1) + 4] = 0x06;  // short version 0x206
    EXPECT_FALSE(LoadState(dst, wrongVersion));
    std::vector<BYTE> cut(bytes.begin(), bytes.end() - 6);  // no end mark
    EXPECT_FALSE(LoadState(dst, cut));
    EXPECT_FALSE(LoadState(dst, std::vector<BYTE>()));
    EXPECT_EQ(dst.m_nTotalTickCount, 1u);
    EXPECT_EQ(dst.CmdGetPtr(100)->m_nUsageTickCount, 1u);

    bool bThrown = false;
    try {
        LoadState(dst, cut, true);
    } catch (CArchiveException* e) {
        bThrown = true;
        e->Delete();
    }
    EXPECT_TRUE(bThrown) << "with the flag the archive's exception goes on";
}

TEST(CmdProfileState, RegistryKeyReplacesOddCharacters) {
    CExtCmdProfile profile("a\tb?c*d\re\nf");
    EXPECT_STREQ((LPCTSTR)profile.GetRegistryKeyPath("Corp", "App"),
                 "Software\\Corp\\App\\Kestrix254\\Profiles\\a_b_c_d_e_f\\CommandManager");
}

TEST(CmdProfileState, RegistryRoundTripAndDamage) {
    testsupport::RegistrySandbox sandbox;
    ASSERT_TRUE(sandbox.Override(HKEY_CURRENT_USER, "hkcu"));
    CExtCmdProfile src("Main?Profile");
    Register(src, 100);
    Register(src, 200);
    src.CmdGetPtr(100)->m_nUsageTickCount = 11;
    src.CmdGetPtr(200)->m_nUsageTickCount = 22;
    src.m_nTotalTickCount = 33;
    ASSERT_TRUE(src.SerializeStateRegistry("Corvalin", "Tests", true, HKEY_CURRENT_USER));
    const char* sKey = "Software\\Corvalin\\Tests\\Kestrix254\\Profiles\\Main_Profile\\CommandManager";
    EXPECT_TRUE(testsupport::RegistrySandbox::KeyExists(HKEY_CURRENT_USER, sKey));

    CExtCmdProfile dst("Main?Profile");
    Register(dst, 100);
    Register(dst, 200);
    ASSERT_TRUE(dst.SerializeStateRegistry("Corvalin", "Tests", false, HKEY_CURRENT_USER));
    EXPECT_EQ(dst.m_nTotalTickCount, 33u);
    EXPECT_EQ(dst.CmdGetPtr(100)->m_nUsageTickCount, 11u);
    EXPECT_EQ(dst.CmdGetPtr(200)->m_nUsageTickCount, 22u);

    // One stored byte changed: the integrity check refuses the data.
    std::string sBlock = std::string(sKey) + "\\block_0x00000000";
    BYTE chunk[16];
    ASSERT_TRUE(RegReadBinary(HKEY_CURRENT_USER, sBlock.c_str(), "data_0x00000001", chunk, sizeof(chunk)));
    chunk[3] ^= 0x01;
    ASSERT_TRUE(testsupport::RegistrySandbox::SetBinary(HKEY_CURRENT_USER, sBlock, "data_0x00000001", chunk, 16));
    CExtCmdProfile damaged("Main?Profile");
    Register(damaged, 100);
    damaged.m_nTotalTickCount = 4;
    EXPECT_FALSE(damaged.SerializeStateRegistry("Corvalin", "Tests", false, HKEY_CURRENT_USER));
    EXPECT_EQ(damaged.m_nTotalTickCount, 4u);
    EXPECT_EQ(damaged.CmdGetPtr(100)->m_nUsageTickCount, 0u);
    EXPECT_FALSE(dst.SerializeStateRegistry("Nobody", "Tests", false, HKEY_CURRENT_USER)) << "no such key";
}
