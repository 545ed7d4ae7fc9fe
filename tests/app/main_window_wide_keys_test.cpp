// Uninstall keys whose names the code page cannot show, driven through the real main
// window with real clicks and keys: each key is a program of its own in the list, Remove
// takes exactly the key the user chose (also one whose name the code page cannot show), a
// key rewritten for another program while the warning is up is kept with a box (also when
// the new name shows like the old one), a display name spelt in small letters is the name
// the list shows and Remove checks, a refused deletion says what the system answered, and
// View Registry Entry types the key's exact name into the editor's tree.
#include "main_window_fixture.h"
#include "fake_regedit.h"
#include "owned_box.h"
#include "app/ui_manager.h"
#include "catalogue/program_entry.h"
#include "res/resource.h"
#include "support/import_patch.h"
#include "toolkit/menus/popup_menu_wnd.h"
#include "support/registry_sandbox.h"
#include "support/wide_key_names.h"
#include <gtest/gtest.h>
#include <cwchar>
#include <functional>
#include <string>

using mainwindowtest::BarButton;
using mainwindowtest::ClickRow;
using mainwindowtest::FocusIn;
using mainwindowtest::List;
using mainwindowtest::PumpUntil;
using mainwindowtest::RowOf;
using mainwindowtest::SelectedRowText;
using mainwindowtest::Status;
using ownedbox::BoxWatcher;
using realinput::ClickAt;
using testsupport::RegistrySandbox;
using namespace testsupport::widekeys;

namespace {

struct Program
{
    const wchar_t* key;
    const char* name;
    const char* publisher;
};
const Program kPrograms[] = {
    {kZhe, "ZZE Cyr Zhe", "Zhe Works"},
    {kDe, "ZZE Cyr De", "De Works"},
    {kLiteral, "ZZE Literal Question", "Literal Works"},
};

std::string PublisherShown(CPurgeletDlg& dlg, const char* name)
{
    int nRow = RowOf(dlg, name);
    return nRow < 0 ? std::string("(no row)") : std::string((LPCSTR)List(dlg).GetItemText(nRow, 1));
}

// Failures the registry of the test prefix does not give, staged at the import the
// catalogue deletes keys through.
typedef LONG(WINAPI* RegDeleteKeyWFn)(HKEY, LPCWSTR);
RegDeleteKeyWFn g_realDelete = nullptr;
LONG WINAPI RefuseZhe(HKEY parent, LPCWSTR subkey)
{
    if (subkey != NULL && std::wcscmp(subkey, kZhe) == 0) return ERROR_ACCESS_DENIED;
    return g_realDelete(parent, subkey);
}

class MainWindowWideKeysTest : public mainwindowtest::NoGroupsFixture
{
protected:
    void SetUp() override
    {
        NoGroupsFixture::SetUp();
        if (HasFatalFailure()) return;
        TestApp().m_boxes.clear();
        for (const Program& p : kPrograms) {
            const std::wstring key = kUninstallPathW + p.key;
            ASSERT_TRUE(RegistrySandbox::SetString(HKEY_CURRENT_USER, key, "DisplayName", p.name));
            ASSERT_TRUE(RegistrySandbox::SetString(HKEY_CURRENT_USER, key, "Publisher", p.publisher));
            ASSERT_TRUE(RegistrySandbox::SetString(HKEY_CURRENT_USER, key, "UninstallString", "none_such.exe"));
            ASSERT_TRUE(RegistrySandbox::SetString(HKEY_CURRENT_USER, kArpCachePathW + p.key, "Note", p.name));
        }
    }
    // Clicks the program's row and then the toolbar's Remove, with the warning answered
    // by `answer`; true once the warning came and went.
    static bool RemoveThroughTheToolbar(CPurgeletDlg& dlg, const char* name, std::function<void(HWND)> answer,
                                        std::string& warningText)
    {
        CExtBarButton* pRemove = BarButton(dlg.m_wndToolBar, ID_PROGRAM_REMOVE_ENTRY);
        if (pRemove == NULL || !FocusIn(List(dlg))) return false;
        ClickRow(dlg, name);
        if (!PumpUntil([&] { return SelectedRowText(dlg) == name && !pRemove->IsDisabled(); })) return false;
        BoxWatcher warning(dlg.GetSafeHwnd(), answer);
        ClickAt(dlg.m_wndToolBar, pRemove->Rect().CenterPoint());
        PumpUntil([&] { return warning.m_bFound && !::IsWindow(ownedbox::FindOpenBox(dlg.GetSafeHwnd())); }, 10000);
        warning.Stop();
        warning.Join();
        warningText = warning.m_text;
        return warning.m_bFound;
    }
};

}  // namespace

// The three keys are three programs, each with its own values; Remove of "ZZE Cyr Zhe"
// deletes its key and cache record alone.
TEST_F(MainWindowWideKeysTest, KeysThatLookAlikeAreThreeProgramsAndRemoveTakesTheChosenOne)
{
    EXPECT_TRUE(Run([&](CPurgeletDlg& dlg) {
        ASSERT_TRUE(PumpUntil([&] { return Status(dlg) == "3 of 3 programs found"; })) << Status(dlg);
        for (const Program& p : kPrograms) EXPECT_EQ(p.publisher, PublisherShown(dlg, p.name)) << p.name;

        std::string warning;
        ASSERT_TRUE(RemoveThroughTheToolbar(
            dlg, "ZZE Cyr Zhe", [](HWND hBox) { ownedbox::ClickBoxButton(hBox, IDYES); }, warning));
        EXPECT_STREQ(CPurgeletDlg::RemoveWarning("ZZE Cyr Zhe"), warning.c_str());
        ASSERT_TRUE(PumpUntil([&] { return Status(dlg) == "2 of 2 programs found"; })) << Status(dlg);
        EXPECT_TRUE(TestApp().m_boxes.empty());
        EXPECT_FALSE(Listed(kZhe));
        EXPECT_FALSE(Cached(kZhe));
        for (const wchar_t* kept : {kDe, kLiteral}) {
            EXPECT_TRUE(Listed(kept));
            EXPECT_TRUE(Cached(kept));
        }
        EXPECT_LT(RowOf(dlg, "ZZE Cyr Zhe"), 0);
        EXPECT_EQ("De Works", PublisherShown(dlg, "ZZE Cyr De"));
        EXPECT_EQ("Literal Works", PublisherShown(dlg, "ZZE Literal Question"));
    }));
}

// Another program rewrites the key while the warning is up: Yes removes nothing, a box
// names the program asked about, and the list shows what the key holds now.
TEST_F(MainWindowWideKeysTest, AKeyRewrittenWhileTheWarningIsUpIsKeptWithABox)
{
    EXPECT_TRUE(Run([&](CPurgeletDlg& dlg) {
        ASSERT_TRUE(PumpUntil([&] { return Status(dlg) == "3 of 3 programs found"; })) << Status(dlg);
        std::string warning;
        ASSERT_TRUE(RemoveThroughTheToolbar(
            dlg, "ZZE Cyr Zhe",
            [](HWND hBox) {
                RegistrySandbox::SetString(HKEY_CURRENT_USER, kUninstallPathW + kZhe, "DisplayName",
                                           "ZZE Other Product");
                ownedbox::ClickBoxButton(hBox, IDYES);
            },
            warning));
        ASSERT_TRUE(PumpUntil([] { return !TestApp().m_boxes.empty(); }));
        ASSERT_EQ(1u, TestApp().m_boxes.size());
        EXPECT_STREQ(CPurgeletDlg::RemovedEntryChanged("ZZE Cyr Zhe"), TestApp().m_boxes[0].text.c_str());
        EXPECT_NE(std::string::npos, TestApp().m_boxes[0].text.find("\r\n\r\nZZE Cyr Zhe"));
        EXPECT_NE(std::string::npos, TestApp().m_boxes[0].text.find("nothing was removed"));
        for (const Program& p : kPrograms) {
            EXPECT_TRUE(Listed(p.key)) << p.name;
            EXPECT_TRUE(Cached(p.key)) << p.name;
        }
        ASSERT_TRUE(PumpUntil([&] { return RowOf(dlg, "ZZE Other Product") >= 0; }));
        EXPECT_EQ("Zhe Works", PublisherShown(dlg, "ZZE Other Product"));
        EXPECT_LT(RowOf(dlg, "ZZE Cyr Zhe"), 0);
        EXPECT_EQ("3 of 3 programs found", Status(dlg));
    }));
}

// A display name value spelt in small letters is the key's display name, as the registry
// finds it: the list shows it, and Remove takes the key without asking again.
TEST_F(MainWindowWideKeysTest, ADisplayNameSpeltInSmallLettersIsListedByItAndRemoved)
{
    const std::wstring key = kUninstallPathW + L"Spelt";
    ASSERT_TRUE(RegistrySandbox::SetString(HKEY_CURRENT_USER, key, L"displayname", L"ZZE Spelt Small"));
    ASSERT_TRUE(RegistrySandbox::SetString(HKEY_CURRENT_USER, key, "UninstallString", "none_such.exe"));
    EXPECT_TRUE(Run([&](CPurgeletDlg& dlg) {
        ASSERT_TRUE(PumpUntil([&] { return Status(dlg) == "4 of 4 programs found"; })) << Status(dlg);
        EXPECT_GE(RowOf(dlg, "ZZE Spelt Small"), 0);
        EXPECT_LT(RowOf(dlg, "Spelt"), 0);
        std::string warning;
        ASSERT_TRUE(RemoveThroughTheToolbar(
            dlg, "ZZE Spelt Small", [](HWND hBox) { ownedbox::ClickBoxButton(hBox, IDYES); }, warning));
        EXPECT_STREQ(CPurgeletDlg::RemoveWarning("ZZE Spelt Small"), warning.c_str());
        ASSERT_TRUE(PumpUntil([&] { return Status(dlg) == "3 of 3 programs found"; })) << Status(dlg);
        EXPECT_TRUE(TestApp().m_boxes.empty());
        EXPECT_FALSE(Listed(L"Spelt"));
        EXPECT_LT(RowOf(dlg, "ZZE Spelt Small"), 0);
    }));
}

// "ЖЖ Suite" shows as "?? Suite" under the code page. Unchanged since it was listed, Yes
// removes it without a word; rewritten to "ДД Suite" while the warning is up, which shows
// alike, Yes removes nothing and a box says why: Remove compares the names themselves.
TEST_F(MainWindowWideKeysTest, RemoveChecksANameOutsideTheCodePageAsItIs)
{
    const struct
    {
        const char* what;
        const wchar_t* rewritten;  // NULL: left as it is
    } cases[] = {{"unchanged", NULL}, {"rewritten to one that shows alike", L"\x0414\x0414 Suite"}};
    const std::wstring key = kUninstallPathW + L"Suite";
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TestApp().m_boxes.clear();
        ASSERT_TRUE(RegistrySandbox::SetString(HKEY_CURRENT_USER, key, L"DisplayName", L"\x0416\x0416 Suite"));
        ASSERT_TRUE(RegistrySandbox::SetString(HKEY_CURRENT_USER, key, "UninstallString", "none_such.exe"));
        EXPECT_TRUE(Run([&](CPurgeletDlg& dlg) {
            ASSERT_TRUE(PumpUntil([&] { return Status(dlg) == "4 of 4 programs found"; })) << Status(dlg);
            std::string warning;
            ASSERT_TRUE(RemoveThroughTheToolbar(
                dlg, "?? Suite",
                [&](HWND hBox) {
                    if (c.rewritten != NULL)
                        RegistrySandbox::SetString(HKEY_CURRENT_USER, key, L"DisplayName", c.rewritten);
                    ownedbox::ClickBoxButton(hBox, IDYES);
                },
                warning));
            EXPECT_STREQ(CPurgeletDlg::RemoveWarning("?? Suite"), warning.c_str());
            if (c.rewritten == NULL) {
                ASSERT_TRUE(PumpUntil([&] { return Status(dlg) == "3 of 3 programs found"; })) << Status(dlg);
                EXPECT_TRUE(TestApp().m_boxes.empty());
                EXPECT_FALSE(Listed(L"Suite"));
                EXPECT_LT(RowOf(dlg, "?? Suite"), 0);
                return;
            }
            ASSERT_TRUE(PumpUntil([] { return !TestApp().m_boxes.empty(); }));
            ASSERT_EQ(1u, TestApp().m_boxes.size());
            EXPECT_STREQ(CPurgeletDlg::RemovedEntryChanged("?? Suite"), TestApp().m_boxes[0].text.c_str());
            EXPECT_TRUE(Listed(L"Suite"));
            ASSERT_TRUE(PumpUntil([&] { return Status(dlg) == "4 of 4 programs found"; })) << Status(dlg);
            EXPECT_GE(RowOf(dlg, "?? Suite"), 0);
        }));
    }
}

// The registry refuses the deletion: a box gives the program and the system's own words
// for the failure, and the key stays.
TEST_F(MainWindowWideKeysTest, ARefusedDeletionSaysWhatTheSystemAnswered)
{
    char* pszSystem = NULL;
    ::FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, NULL,
                     ERROR_ACCESS_DENIED, 0, (LPSTR)&pszSystem, 0, NULL);
    std::string system = pszSystem != NULL ? pszSystem : "";
    if (pszSystem != NULL) ::LocalFree(pszSystem);
    system = system.substr(0, system.find_last_not_of("\r\n ") + 1);
    ASSERT_FALSE(system.empty());

    g_realDelete = reinterpret_cast<RegDeleteKeyWFn>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleA("advapi32.dll"), "RegDeleteKeyW")));
    ASSERT_TRUE(g_realDelete != nullptr);
    void* real = testsupport::PatchImport("advapi32.dll", "RegDeleteKeyW", reinterpret_cast<void*>(&RefuseZhe));
    ASSERT_TRUE(real != nullptr);
    EXPECT_TRUE(Run([&](CPurgeletDlg& dlg) {
        ASSERT_TRUE(PumpUntil([&] { return Status(dlg) == "3 of 3 programs found"; })) << Status(dlg);
        std::string warning;
        ASSERT_TRUE(RemoveThroughTheToolbar(
            dlg, "ZZE Cyr Zhe", [](HWND hBox) { ownedbox::ClickBoxButton(hBox, IDYES); }, warning));
        ASSERT_TRUE(PumpUntil([] { return !TestApp().m_boxes.empty(); }));
        ASSERT_EQ(1u, TestApp().m_boxes.size());
        const std::string& text = TestApp().m_boxes[0].text;
        EXPECT_NE(std::string::npos, text.find("\r\n\r\nZZE Cyr Zhe\r\n\r\n")) << text;
        EXPECT_NE(std::string::npos, text.find(system)) << text;
        EXPECT_EQ((UINT)MB_ICONERROR, TestApp().m_boxes[0].type & MB_ICONMASK);
        EXPECT_TRUE(Listed(kZhe));
        EXPECT_TRUE(Cached(kZhe));
        ASSERT_TRUE(PumpUntil([&] { return Status(dlg) == "3 of 3 programs found"; })) << Status(dlg);
    }));
    testsupport::PatchImport("advapi32.dll", "RegDeleteKeyW", real);
}

// Action > View Registry Entry (Alt+A, E) types the key's exact name into the editor's
// tree, each time it is asked for.
TEST_F(MainWindowWideKeysTest, ViewRegistryEntryTypesTheKeysExactName)
{
    EXPECT_TRUE(Run([&](CPurgeletDlg& dlg) {
        ASSERT_TRUE(PumpUntil([&] { return Status(dlg) == "3 of 3 programs found"; })) << Status(dlg);
        fakeregedit::FakeRegEdit editor;
        ASSERT_TRUE(FocusIn(List(dlg)));
        ClickRow(dlg, "ZZE Cyr De");
        ASSERT_TRUE(PumpUntil([&] { return SelectedRowText(dlg) == "ZZE Cyr De"; }));
        const std::wstring expected =
            L"\\HKEY_CURRENT_USER\\SOFTWARE\\MICROSOFT\\WINDOWS\\CURRENTVERSION\\UNINSTALL\\ZZE \x0414" L"1";
        for (int nTime = 0; nTime < 2; ++nTime) {
            SCOPED_TRACE(nTime == 0 ? "first" : "asked again");
            fakeregedit::Keys().clear();
            ASSERT_TRUE(FocusIn(List(dlg)));
            realinput::AltLetter('A');
            ASSERT_TRUE(PumpUntil([] { return CExtPopupMenuWnd::IsMenuTracking() != FALSE; }));
            realinput::Tap('E');
            EXPECT_TRUE(PumpUntil([&] { return fakeregedit::FakeRegEdit::Typed() == expected; }));
            EXPECT_EQ(expected, fakeregedit::FakeRegEdit::Typed());
            EXPECT_TRUE(TestApp().m_boxes.empty());
        }
    }));
}
