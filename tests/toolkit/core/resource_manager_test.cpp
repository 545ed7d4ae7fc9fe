// The resource manager: languages and layout, string blocks, menus, accelerators,
// bitmaps, locale fallbacks and dialog init data, from the resources of cmd_test.rc.
#include <gtest/gtest.h>

#include "framework/framework.h"
#include "toolkit/core/bitmap.h"
#include "toolkit/core/resource_manager.h"
#include "tests/toolkit/core/cmd_test_ids.h"

#include <string.h>
#include <vector>

namespace {

// Installs a manager of the given settings for one test; the default one after it.
class ResourceManagerTest : public ::testing::Test {
protected:
    CExtResourceManager* Install(bool bCustom, WORD nLang, DWORD nLayout = DWORD(-1)) {
        CExtResourceManager* p = new CExtResourceManager(bCustom, nLang, nLayout);
        g_CurrentResourceManager.InstallResourceManager(p);
        return p;
    }
    void TearDown() override { g_CurrentResourceManager.InstallResourceManager(NULL); }
};

void PutWord(std::vector<BYTE>& v, WORD w) {
    v.push_back((BYTE)(w & 0xFF));
    v.push_back((BYTE)(w >> 8));
}

void PutDword(std::vector<BYTE>& v, DWORD dw) {
    PutWord(v, (WORD)(dw & 0xFFFF));
    PutWord(v, (WORD)(dw >> 16));
}

}  // namespace

TEST_F(ResourceManagerTest, HolderInstallsTheDefaultManagerOnFirstUse) {
    g_CurrentResourceManager.InstallResourceManager(NULL);
    CExtResourceManager* p = g_CurrentResourceManager.operator->();
    ASSERT_NE(p, nullptr);
    EXPECT_FALSE(p->IsCustomLangAllowed());
    EXPECT_EQ(p->GetLangIdDesired(), 1033);
    EXPECT_EQ(p->GetLangIdDefault(), 1033);
    EXPECT_EQ(p->GetLangLayoutSetting(), DWORD(-1));
    EXPECT_TRUE(p->AllowCustomLang(true));
    EXPECT_FALSE(p->AllowCustomLang(true));  // no change the second time
    EXPECT_EQ(p->SetLangLayout(1), DWORD(-1));
    EXPECT_EQ(p->SetLangLayout(0), 1u);
    EXPECT_EQ(p->SetLangIdDesired(1031), 1031);
}

namespace {

struct CountingResourceManager : CExtResourceManager {
    explicit CountingResourceManager(int* pDeleted) : m_pDeleted(pDeleted) {}
    ~CountingResourceManager() override { ++*m_pDeleted; }
    int* m_pDeleted;
};

}  // namespace

TEST_F(ResourceManagerTest, InstallingTheCurrentManagerAgainKeepsIt) {
    int nDeleted = 0;
    CountingResourceManager* p = new CountingResourceManager(&nDeleted);
    g_CurrentResourceManager.InstallResourceManager(p);
    g_CurrentResourceManager.InstallResourceManager(p);
    EXPECT_EQ(nDeleted, 0);
    EXPECT_EQ(g_CurrentResourceManager.operator->(), p);
    g_CurrentResourceManager.InstallResourceManager(NULL);
    EXPECT_EQ(nDeleted, 1) << "the holder owns the manager it was given";
    EXPECT_NE(g_CurrentResourceManager.operator->(), nullptr);
}

TEST_F(ResourceManagerTest, LayoutFollowsTheRightToLeftLanguages) {
    CExtResourceManager* p = Install(true, 0x040D);
    EXPECT_EQ(p->GetLangLayout(), 1u) << "Hebrew";
    p->SetLangIdDesired(0x0409);
    EXPECT_EQ(p->GetLangLayout(), 0u) << "English";
    p->SetLangIdDesired(0x0446);
    EXPECT_EQ(p->GetLangLayout(), 1u) << "0x0446";
    p->SetLangIdDesired(0x0401);
    p->SetLangLayout(0);
    EXPECT_EQ(p->GetLangLayout(), 0u) << "a stored layout wins over Arabic";

    static const WORD rtl[] = {0x0401, 0x040D, 0x0420, 0x0429, 0x0446, 0x0459, 0x0460, 0x0801,
                               0x0820, 0x0860, 0x0C01, 0x1001, 0x1401, 0x1801, 0x1C01, 0x2001,
                               0x2401, 0x2801, 0x2C01, 0x3001, 0x3401, 0x3801, 0x3C01, 0x4001};
    for (WORD w : rtl)
        EXPECT_TRUE(CExtResourceManager::stat_IsLangRTL(w)) << std::hex << w;
    for (WORD w : {0x0409, 0x0407, 0x0419, 0x0000, 0x0402})
        EXPECT_FALSE(CExtResourceManager::stat_IsLangRTL(w)) << std::hex << w;
}

TEST_F(ResourceManagerTest, StringsLoadWithAndWithoutCustomLanguages) {
    for (bool bCustom : {false, true}) {
        SCOPED_TRACE(bCustom ? "custom languages" : "framework loading");
        CExtResourceManager* p = Install(bCustom, 1033);
        CString s;
        WORD wLang = 0;
        EXPECT_TRUE(p->LoadString(s, ID_TEST_COPY, &wLang));
        EXPECT_STREQ((LPCTSTR)s, "Copies the selection");
        EXPECT_EQ(wLang, 1033);
        EXPECT_TRUE(p->LoadString(s, IDS_TEST_SLOT4));
        EXPECT_STREQ((LPCTSTR)s, "Four");
        EXPECT_TRUE(p->LoadString(s, IDS_TEST_SLOT6));
        EXPECT_STREQ((LPCTSTR)s, "Six");
        s = "stale";
        EXPECT_TRUE(p->LoadString(s, 0x1235)) << "an empty slot of a present block";
        EXPECT_TRUE(s.IsEmpty());
        EXPECT_FALSE(p->LoadString(s, 0x7F01)) << "no such block";
    }
}

TEST_F(ResourceManagerTest, DesiredLanguageFirstThenTheDefault) {
    CExtResourceManager* p = Install(true, 1031);
    CString s;
    WORD wLang = 0;
    HINSTANCE hInst = NULL;
    ASSERT_TRUE(p->LoadString(s, ID_TEST_GERMAN_ONLY, &wLang, &hInst));
    EXPECT_STREQ((LPCTSTR)s, "Nur deutsch");
    EXPECT_EQ(wLang, 1031);
    EXPECT_EQ(hInst, AfxGetResourceHandle());
    ASSERT_TRUE(p->LoadString(s, ID_TEST_OPEN, &wLang));
    EXPECT_STREQ((LPCTSTR)s, "Oeffnet ein Dokument\nOeffnen");
    EXPECT_EQ(wLang, 1031);

    // The menu exists in U.S. English only.
    HRSRC hRsrc = NULL;
    wLang = 0;
    EXPECT_EQ(p->FindResourceHandle(RT_MENU, MAKEINTRESOURCE(IDR_TEST_MENU), &wLang, &hRsrc), AfxGetResourceHandle());
    EXPECT_NE(hRsrc, nullptr);

    // Languages tried in a given order.
    ASSERT_TRUE(p->LoadStringLang(s, ID_TEST_OPEN, 1033, 1031, &wLang));
    EXPECT_STREQ((LPCTSTR)s, "Opens an existing document\nOpen");
    EXPECT_EQ(wLang, 1033);
}

TEST_F(ResourceManagerTest, ABufferForOneLanguageTakesThatLanguageOnly) {
    for (bool bCustom : {false, true}) {
        SCOPED_TRACE(bCustom ? "custom languages" : "framework loading");
        CExtResourceManager* p = Install(bCustom, 1031);
        CExtResourceMemoryBuffer buf;
        WORD wLang = 0;
        HINSTANCE hInst = NULL;
        EXPECT_FALSE(p->LoadResourceBuffer(buf, RT_MENU, MAKEINTRESOURCE(IDR_TEST_MENU), (WORD)1031))
            << "the menu exists in U.S. English only";
        EXPECT_TRUE(buf.IsEmpty());
        ASSERT_TRUE(p->LoadResourceBuffer(buf, RT_MENU, MAKEINTRESOURCE(IDR_TEST_MENU), (WORD)1033, &wLang, &hInst));
        EXPECT_FALSE(buf.IsEmpty());
        EXPECT_EQ(wLang, 1033);
        EXPECT_EQ(hInst, AfxGetResourceHandle());
    }
}

TEST_F(ResourceManagerTest, StringBlockParsingIsBoundedByTheBlock) {
    // Slot 0 "ab", slot 1 empty, slot 2 claims 100 characters of a 4-byte rest.
    std::vector<BYTE> block;
    PutWord(block, 2);
    PutWord(block, 'a');
    PutWord(block, 'b');
    PutWord(block, 0);
    PutWord(block, 100);
    PutWord(block, 'x');
    PutWord(block, 'y');
    CString s;
    EXPECT_TRUE(CExtResourceManager::stat_ParseStringBlock(s, 0x10, block.data(), (DWORD)block.size()));
    EXPECT_STREQ((LPCTSTR)s, "ab");
    EXPECT_TRUE(CExtResourceManager::stat_ParseStringBlock(s, 0x11, block.data(), (DWORD)block.size()));
    EXPECT_TRUE(s.IsEmpty());
    EXPECT_FALSE(CExtResourceManager::stat_ParseStringBlock(s, 0x12, block.data(), (DWORD)block.size()));
    EXPECT_FALSE(CExtResourceManager::stat_ParseStringBlock(s, 0x13, block.data(), (DWORD)block.size()));
    EXPECT_FALSE(CExtResourceManager::stat_ParseStringBlock(s, 0x10, block.data(), 1)) << "half a length word";
}

TEST_F(ResourceManagerTest, MenusLoadInBothModes) {
    for (bool bCustom : {false, true}) {
        SCOPED_TRACE(bCustom ? "custom languages" : "framework loading");
        CExtResourceManager* p = Install(bCustom, 1031);
        CMenu menu;
        menu.CreateMenu();
        HMENU hOld = menu.GetSafeHmenu();
        ASSERT_TRUE(p->LoadMenu(menu, IDR_TEST_MENU));
        EXPECT_NE(menu.GetSafeHmenu(), hOld);
        EXPECT_FALSE(::IsMenu(hOld)) << "the previous menu is destroyed";
        ASSERT_EQ(menu.GetMenuItemCount(), 2u);
        CMenu* pFile = menu.GetSubMenu(0);
        ASSERT_NE(pFile, nullptr);
        EXPECT_EQ(pFile->GetMenuItemID(0), (UINT)ID_TEST_OPEN);
        CString s;
        pFile->GetMenuString(0, s, MF_BYPOSITION);
        EXPECT_STREQ((LPCTSTR)s, "&Open\tCtrl+O");
        EXPECT_FALSE(p->LoadMenu(menu, 0x7F02));
    }
}

TEST_F(ResourceManagerTest, AcceleratorsLoadInBothModes) {
    for (bool bCustom : {false, true}) {
        SCOPED_TRACE(bCustom ? "custom languages" : "framework loading");
        CExtResourceManager* p = Install(bCustom, 1033);
        HACCEL hAccel = p->LoadAccelerators(IDR_TEST_ACCEL);
        ASSERT_NE(hAccel, nullptr);
        ACCEL a[4];
        memset(a, 0, sizeof(a));
        ASSERT_EQ(::CopyAcceleratorTable(hAccel, a, 4), 2);
        EXPECT_EQ(a[0].key, 'O');
        EXPECT_EQ(a[0].cmd, ID_TEST_OPEN);
        EXPECT_EQ(a[0].fVirt & (FVIRTKEY | FCONTROL), FVIRTKEY | FCONTROL);
        EXPECT_EQ(a[1].key, VK_F5);
        EXPECT_EQ(a[1].cmd, ID_TEST_REFRESH);
        ::DestroyAcceleratorTable(hAccel);
    }
    EXPECT_EQ(CExtResourceManager::stat_CreateAccelTable(NULL, 0), nullptr);
    BYTE seven[7] = {1, 0, 'A', 0, 1, 0, 0};
    EXPECT_EQ(CExtResourceManager::stat_CreateAccelTable(seven, 7), nullptr) << "less than one entry";
}

TEST_F(ResourceManagerTest, BitmapsLoadInBothModes) {
    for (bool bCustom : {false, true}) {
        SCOPED_TRACE(bCustom ? "custom languages" : "framework loading");
        CExtResourceManager* p = Install(bCustom, 1033);
        CExtBitmap bmp;
        ASSERT_TRUE(p->LoadBitmap(bmp, IDR_TEST_TOOLBAR));
        EXPECT_EQ(bmp.GetSize().cx, 48);
        EXPECT_EQ(bmp.GetSize().cy, 15);
        EXPECT_EQ(bmp.GetPixelColor(20, 5), RGB(0, 255, 0));
        EXPECT_EQ(bmp.GetPixelColor(0, 0), RGB(255, 0, 255));
        EXPECT_FALSE(p->LoadBitmap(bmp, 0x7F03));
        EXPECT_TRUE(bmp.IsEmpty()) << "emptied first";
    }
}

TEST_F(ResourceManagerTest, LocaleCallsFallBackUntilOneAnswers) {
    CExtResourceManager* p = Install(true, 1031);
    char buf[64] = {0};
    ASSERT_GT(p->GetLocaleInfo(LOCALE_SENGLANGUAGE, buf, sizeof(buf)), 0);
    EXPECT_STREQ(buf, "German");
    // A language id that names no locale falls through to the default language.
    p->SetLangIdDesired(0x7FFF);
    ASSERT_GT(p->GetLocaleInfo(LOCALE_SENGLANGUAGE, buf, sizeof(buf)), 0);
    EXPECT_STREQ(buf, "English");
    SYSTEMTIME st;
    memset(&st, 0, sizeof(st));
    st.wYear = 2024;
    st.wMonth = 3;
    st.wDay = 9;
    ASSERT_GT(p->GetDateFormat(0, &st, "yyyy'-'MM'-'dd", buf, sizeof(buf)), 0);
    EXPECT_STREQ(buf, "2024-03-09");
    ASSERT_GT(p->GetNumberFormat(0, "1234", NULL, buf, sizeof(buf)), 0);
    EXPECT_NE(strstr(buf, "234"), nullptr);
    st.wHour = 13;
    st.wMinute = 5;
    ASSERT_GT(p->GetTimeFormat(0, &st, "HH':'mm", buf, sizeof(buf)), 0);
    EXPECT_STREQ(buf, "13:05");
    EXPECT_GT(p->GetCurrencyFormat(0, "5", NULL, buf, sizeof(buf)), 0);
    EXPECT_EQ(p->GetLocaleInfo(LOCALE_SENGLANGUAGE, buf, 1), 0) << "no call fits a 1-character buffer";

    CExtResourceManager* pPlain = Install(false, 1031);
    char bufUser[64] = {0};
    ASSERT_GT(::GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SENGLANGUAGE, bufUser, sizeof(bufUser)), 0);
    ASSERT_GT(pPlain->GetLocaleInfo(LOCALE_SENGLANGUAGE, buf, sizeof(buf)), 0);
    EXPECT_STREQ(buf, bufUser) << "without custom languages the user's locale answers";
}

TEST_F(ResourceManagerTest, FontFaceNameAndTheCachedFont) {
    CExtResourceManager* p = Install(false, 1033);
    EXPECT_EQ(p->GetFontFaceName(), nullptr);
    EXPECT_EQ(p->GetFont(), nullptr);
    p->SetFontFaceName("Tahoma");
    EXPECT_STREQ(p->GetFontFaceName(), "Tahoma");
    HFONT hFont = p->GetFont();
    ASSERT_NE(hFont, nullptr);
    LOGFONT lf;
    ::GetObject(hFont, sizeof(lf), &lf);
    EXPECT_STREQ(lf.lfFaceName, "Tahoma");
    p->SetFontFaceName("Tahoma");
    EXPECT_EQ(p->GetFont(), hFont) << "the same name keeps the cached font";
    p->SetFontFaceName("");
    EXPECT_EQ(p->GetFontFaceName(), nullptr);
    EXPECT_EQ(p->GetFont(), nullptr);
}

namespace {

INT_PTR CALLBACK QuietDlgProc(HWND, UINT msg, WPARAM, LPARAM) { return msg == WM_INITDIALOG; }

// Counts WM_INITIALUPDATE on the dialog's children.
int g_nInitialUpdates = 0;
WNDPROC g_pfnListProc = NULL;
LRESULT CALLBACK CountingListProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == 0x0364)
        g_nInitialUpdates++;
    return ::CallWindowProc(g_pfnListProc, h, msg, wp, lp);
}

}  // namespace

TEST_F(ResourceManagerTest, DialogInitDataFillsTheControls) {
    for (bool bCustom : {false, true}) {
        SCOPED_TRACE(bCustom ? "custom languages" : "framework loading");
        CExtResourceManager* p = Install(bCustom, 1033);
        HWND hDlg = ::CreateDialogParam(::GetModuleHandle(NULL), MAKEINTRESOURCE(IDD_TEST_DIALOG), NULL, QuietDlgProc, 0);
        ASSERT_NE(hDlg, nullptr);
        HWND hList = ::GetDlgItem(hDlg, IDC_TEST_LIST);
        HWND hCombo = ::GetDlgItem(hDlg, IDC_TEST_COMBO);
        g_nInitialUpdates = 0;
        g_pfnListProc = (WNDPROC)::SetWindowLongPtr(hList, GWLP_WNDPROC, (LONG_PTR)CountingListProc);
        EXPECT_TRUE(p->ExecuteDlgInit(hDlg, MAKEINTRESOURCE(IDD_TEST_DIALOG)));
        ASSERT_EQ(::SendMessage(hList, LB_GETCOUNT, 0, 0), 2);
        char buf[32];
        ::SendMessage(hList, LB_GETTEXT, 0, (LPARAM)buf);
        EXPECT_STREQ(buf, "Alpha");
        ::SendMessage(hList, LB_GETTEXT, 1, (LPARAM)buf);
        EXPECT_STREQ(buf, "Beta");
        ASSERT_EQ(::SendMessage(hCombo, CB_GETCOUNT, 0, 0), 1) << "the unknown message is skipped";
        ::SendMessage(hCombo, CB_GETLBTEXT, 0, (LPARAM)buf);
        EXPECT_STREQ(buf, "Gamma");
        EXPECT_EQ(g_nInitialUpdates, 1);
        EXPECT_TRUE(p->ExecuteDlgInit(hDlg, MAKEINTRESOURCE(0x7F04))) << "no data is success";
        ::DestroyWindow(hDlg);
    }
}

TEST_F(ResourceManagerTest, DialogInitRecordsThatOverrunFail) {
    HWND hDlg = ::CreateDialogParam(::GetModuleHandle(NULL), MAKEINTRESOURCE(IDD_TEST_DIALOG), NULL, QuietDlgProc, 0);
    ASSERT_NE(hDlg, nullptr);
    HWND hList = ::GetDlgItem(hDlg, IDC_TEST_LIST);

    std::vector<BYTE> good;
    PutWord(good, IDC_TEST_LIST);
    PutWord(good, 0x0401);
    PutDword(good, 2);
    good.push_back('Q');
    good.push_back(0);
    std::vector<BYTE> overrun = good;
    PutWord(overrun, IDC_TEST_LIST);
    PutWord(overrun, 0x0401);
    PutDword(overrun, 0x7FFFFFF0);  // far more than the data holds
    overrun.push_back('Z');
    std::vector<BYTE> cutHeader = good;
    PutWord(cutHeader, IDC_TEST_LIST);
    PutWord(cutHeader, 0x0401);  // the length is missing

    EXPECT_FALSE(CExtResourceManager::stat_ExecuteDlgInitData(hDlg, overrun.data(), (DWORD)overrun.size()));
    EXPECT_FALSE(CExtResourceManager::stat_ExecuteDlgInitData(hDlg, cutHeader.data(), (DWORD)cutHeader.size()));
    EXPECT_EQ(::SendMessage(hList, LB_GETCOUNT, 0, 0), 2) << "records before the damage still ran";

    // Text that is not terminated inside its record ends at the record.
    std::vector<BYTE> unterminated;
    PutWord(unterminated, IDC_TEST_LIST);
    PutWord(unterminated, 0x0180);
    PutDword(unterminated, 3);
    unterminated.push_back('a');
    unterminated.push_back('b');
    unterminated.push_back('c');
    EXPECT_TRUE(CExtResourceManager::stat_ExecuteDlgInitData(hDlg, unterminated.data(), (DWORD)unterminated.size()));
    char buf[32] = {0};
    ::SendMessage(hList, LB_GETTEXT, 2, (LPARAM)buf);
    EXPECT_STREQ(buf, "abc");
    EXPECT_TRUE(CExtResourceManager::stat_ExecuteDlgInitData(hDlg, NULL, 0));
    ::DestroyWindow(hDlg);
}

TEST_F(ResourceManagerTest, RegisteredModulesAreSearchedFirstAndEmptyOnesSkipped) {
    CExtResourceManager* p = Install(true, 1031);
    HINSTANCE hExe = ::GetModuleHandle(NULL);
    p->m_arrRscInst.Add(new CExtResourceManager::RscInstEntry(NULL));
    p->m_arrRscInst.Add(new CExtResourceManager::RscInstEntry(hExe));
    LPCTSTR sGermanBlock = MAKEINTRESOURCE((ID_TEST_GERMAN_ONLY >> 4) + 1);
    WORD wLang = 0;
    HRSRC hRsrc = NULL;
    EXPECT_EQ(p->FindResourceInstance(RT_STRING, sGermanBlock, 1031, &wLang, &hRsrc), hExe);
    EXPECT_EQ(wLang, 1031);
    EXPECT_NE(hRsrc, nullptr);
    CExtResourceMemoryBuffer buffer;
    HINSTANCE hFound = NULL;
    EXPECT_TRUE(p->FindResourceInstanceBuffer(buffer, RT_STRING, sGermanBlock, 1031, NULL, &hFound));
    EXPECT_EQ(hFound, hExe);
    EXPECT_FALSE(buffer.IsEmpty());
    CString s;
    EXPECT_TRUE(CExtResourceManager::stat_ParseStringBlock(s, ID_TEST_GERMAN_ONLY, buffer.GetBuffer(), buffer.GetSize()));
    EXPECT_STREQ((LPCTSTR)s, "Nur deutsch");
    EXPECT_EQ(p->FindResourceInstance(RT_MENU, MAKEINTRESOURCE(0x7F07), 1031), nullptr);
    // The manager deletes its entries.
}
