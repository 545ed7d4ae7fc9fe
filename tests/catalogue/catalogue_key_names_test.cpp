// Uninstall keys by their exact names: keys whose names the ANSI code page cannot show
// (so that several read as one name, or as the name of a third key), a name whose
// double-byte form holds the backslash byte, and a removal that checks, just before it
// deletes, that the key still shows the program the user was asked about.
#include <gtest/gtest.h>
#include <cwchar>
#include <string>
#include <vector>
#include "catalogue/catalogue.h"
#include "catalogue_test_util.h"
#include "support/registry_sandbox.h"
#include "support/wide_key_names.h"

using cattest::Collector;
using testsupport::RegistrySandbox;
using namespace testsupport::widekeys;

namespace {

// "表フ" ends in the same character as "フ"; under code page 932 "表" is 95 5C, so its
// ANSI name holds a backslash byte before "フ".
const wchar_t kHyoFu[] = L"\x8868\x30d5";
const wchar_t kFu[] = L"\x30d5";

class CatalogueKeyNames : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(box.Override(HKEY_CURRENT_USER, "HKCU"));
        ASSERT_TRUE(box.Override(HKEY_LOCAL_MACHINE, "HKLM"));
    }
    void TearDown() override { box.RestoreOverrides(); }

    // A program under the key `name` with its display name, a publisher and an ARP cache
    // record whose size tells the programs apart.
    static void Seed(const std::wstring& name, const char* displayName, const char* publisher, LONGLONG size) {
        ASSERT_TRUE(RegistrySandbox::SetString(HKEY_CURRENT_USER, kUninstallPathW + name, "DisplayName", displayName));
        ASSERT_TRUE(RegistrySandbox::SetString(HKEY_CURRENT_USER, kUninstallPathW + name, "Publisher", publisher));
        const ArpCacheRecord record = cattest::MakeArpRecord(size, 0, 0, 1, nullptr);
        HKEY key = nullptr;
        ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_CURRENT_USER, (kArpCachePathW + name).c_str(), 0, nullptr, 0,
                                                 KEY_ALL_ACCESS, nullptr, &key, nullptr));
        RegSetValueExA(key, "SlowInfoCache", 0, REG_BINARY, reinterpret_cast<const BYTE*>(&record), sizeof(record));
        RegCloseKey(key);
    }
    static ProgramEntry* ByKeyName(const Collector& c, const std::wstring& name) {
        ProgramEntry* found = nullptr;
        for (ProgramEntry* e : c.entries)
            if (e->KeyName == name) {
                EXPECT_TRUE(found == nullptr) << "one entry per key";
                found = e;
            }
        return found;
    }
    Collector Scan() {
        Collector c;
        EXPECT_TRUE(catalogue.Refresh(&c));
        return c;
    }

    RegistrySandbox box;
    CVrelPurgelet catalogue;
};

// Each key is listed once, under its own values and cache record, with or without the
// key whose name is literally what the others look like in ANSI.
TEST_F(CatalogueKeyNames, KeysThatLookAlikeInAnsiAreListedOnceEachWithTheirOwnValues) {
    struct Program {
        const wchar_t* key;
        const char* name;
        const char* publisher;
        LONGLONG size;
    };
    const Program programs[] = {
        {kZhe, "ZZE Cyr Zhe", "Zhe Works", 1000},
        {kDe, "ZZE Cyr De", "De Works", 2000},
        {kLiteral, "ZZE Literal Question", "Literal Works", 3000},
    };
    for (bool withLiteral : {true, false}) {
        SCOPED_TRACE(withLiteral ? "beside the literal key" : "without the literal key");
        for (const Program& p : programs)
            if (withLiteral || p.key != kLiteral) Seed(p.key, p.name, p.publisher, p.size);

        Collector c = Scan();
        ASSERT_EQ(withLiteral ? 3u : 2u, c.entries.size());
        for (const Program& p : programs) {
            SCOPED_TRACE(p.name);
            ProgramEntry* e = ByKeyName(c, p.key);
            if (!withLiteral && p.key == kLiteral) {
                EXPECT_TRUE(e == nullptr);
                continue;
            }
            ASSERT_TRUE(e != nullptr);
            EXPECT_EQ(p.name, e->DisplayName);
            EXPECT_EQ(p.publisher, e->Publisher);
            ASSERT_TRUE(e->HasArpCacheData);
            EXPECT_EQ(p.size, e->InstalledSize);
            // What the list shows of the key is its name as the code page allows.
            EXPECT_EQ("\\HKEY_CURRENT_USER\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\ZZE ?1",
                      e->RegistryPath);
            EXPECT_EQ(L"\\HKEY_CURRENT_USER\\" + kUninstallPathW + p.key, e->GetKey().EditorPath());
        }
        // Two entries whose shown paths are equal are two programs.
        ProgramEntry* zhe = ByKeyName(c, kZhe);
        ProgramEntry* de = ByKeyName(c, kDe);
        ASSERT_TRUE(zhe && de);
        EXPECT_FALSE(zhe->GetKey().SameAs(de->GetKey()));
        EXPECT_TRUE(zhe->GetKey().SameAs(zhe->GetKey()));
        // The entry asked in place answers as its copy does.
        EXPECT_FALSE(zhe->HasKey(de->GetKey()));
        EXPECT_FALSE(de->HasKey(zhe->GetKey()));
        EXPECT_TRUE(zhe->HasKey(zhe->GetKey()));
        for (const Program& p : programs) RegistrySandbox::DeleteTree(HKEY_CURRENT_USER, kUninstallPathW + p.key);
        for (const Program& p : programs) RegistrySandbox::DeleteTree(HKEY_CURRENT_USER, kArpCachePathW + p.key);
    }
}

// Names outside the code page show as the code page allows: a display name read from a
// wide value, and a key's own name where it has no display name.
TEST_F(CatalogueKeyNames, NamesOutsideTheCodePageShowAsTheCodePageAllows) {
    struct Case {
        const wchar_t* key;
        const wchar_t* displayName;  // null: the key has another value only
        const char* shown;
    };
    const Case cases[] = {
        {L"Wide Name", L"ZZE \x0416 Suite", "ZZE ? Suite"},
        {kZhe, nullptr, "ZZE ?1"},
        {L"Caf\x00e9", L"Caf\x00e9 Suite", "Caf\xE9 Suite"},
    };
    for (const Case& k : cases) {
        HKEY key = nullptr;
        ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_CURRENT_USER, (kUninstallPathW + k.key).c_str(), 0, nullptr, 0,
                                                 KEY_ALL_ACCESS, nullptr, &key, nullptr));
        const wchar_t* value = k.displayName ? L"DisplayName" : L"Comments";
        const wchar_t* text = k.displayName ? k.displayName : L"no name";
        RegSetValueExW(key, value, 0, REG_SZ, reinterpret_cast<const BYTE*>(text),
                       static_cast<DWORD>((std::wcslen(text) + 1) * sizeof(wchar_t)));
        RegCloseKey(key);
    }
    Collector c = Scan();
    ASSERT_EQ(3u, c.entries.size());
    for (const Case& k : cases) {
        SCOPED_TRACE(k.shown);
        ProgramEntry* e = ByKeyName(c, k.key);
        ASSERT_TRUE(e != nullptr);
        EXPECT_EQ(k.shown, e->DisplayName);
        if (k.displayName) {
            EXPECT_EQ(k.shown, e->Values["DisplayName"]);
        }
    }
}

// The ARP cache record is found under its key whatever the case of its name, as the
// registry finds keys.
TEST_F(CatalogueKeyNames, TheCacheRecordOfAKeyIsFoundWhateverTheCaseOfItsName) {
    Seed(kZhe, "ZZE Cyr Zhe", "Zhe Works", 1000);
    ASSERT_TRUE(RegistrySandbox::DeleteTree(HKEY_CURRENT_USER, kArpCachePathW + kZhe));
    // "zze ж1": the same key name in small letters.
    const std::wstring lower = L"zze \x0436" L"1";
    const ArpCacheRecord record = cattest::MakeArpRecord(4321, 0, 0, 1, nullptr);
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_CURRENT_USER, (kArpCachePathW + lower).c_str(), 0, nullptr, 0,
                                             KEY_ALL_ACCESS, nullptr, &key, nullptr));
    RegSetValueExA(key, "SlowInfoCache", 0, REG_BINARY, reinterpret_cast<const BYTE*>(&record), sizeof(record));
    RegCloseKey(key);
    Seed(L"Plain", "Plain", "Plain Works", 5);

    Collector c = Scan();
    ProgramEntry* zhe = ByKeyName(c, kZhe);
    ASSERT_TRUE(zhe != nullptr);
    ASSERT_TRUE(zhe->HasArpCacheData);
    EXPECT_EQ(4321, zhe->InstalledSize);
    ASSERT_TRUE(ByKeyName(c, L"Plain") != nullptr);
    EXPECT_EQ(5, ByKeyName(c, L"Plain")->InstalledSize);
}

// Under code page 932 the shown path of "表フ" holds a backslash byte before "フ": the
// entry is still removed by its own name, and the key "フ" beside it stays.
TEST_F(CatalogueKeyNames, AKeyWhoseDoubleByteNameHoldsABackslashByteIsRemovedAlone) {
    for (int way = 0; way < 2; ++way) {
        SCOPED_TRACE(way == 0 ? "RemoveEntry" : "RemoveIfNamed");
        Seed(kHyoFu, "Hyo Fu", "Hyo Works", 10);
        Seed(kFu, "Fu", "Fu Works", 20);
        Collector c = Scan();
        ProgramEntry* hyoFu = ByKeyName(c, kHyoFu);
        ASSERT_TRUE(hyoFu != nullptr);
        EXPECT_EQ(10, hyoFu->InstalledSize);
        // The path as code page 932 shows it: 95 5C 83 74.
        hyoFu->RegistryPath = "\\HKEY_CURRENT_USER\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\"
                              "\x95\x5C\x83\x74";
        EXPECT_EQ(L"\\HKEY_CURRENT_USER\\" + kUninstallPathW + kHyoFu, hyoFu->GetKey().EditorPath());
        if (way == 0)
            EXPECT_TRUE(hyoFu->RemoveEntry());
        else
            EXPECT_EQ(ProgramEntryKey::Removed, hyoFu->GetKey().RemoveIfNamed(L"Hyo Fu").outcome);
        EXPECT_FALSE(Listed(kHyoFu));
        EXPECT_FALSE(Cached(kHyoFu));
        EXPECT_TRUE(Listed(kFu));
        EXPECT_TRUE(Cached(kFu));
        ASSERT_TRUE(ByKeyName(c, kFu) != nullptr);
        EXPECT_TRUE(ByKeyName(c, kFu)->GetKey().Exists());
        RegistrySandbox::DeleteTree(HKEY_CURRENT_USER, kUninstallPathW + kFu);
        RegistrySandbox::DeleteTree(HKEY_CURRENT_USER, kArpCachePathW + kFu);
    }
}

// Failures staged at the imports the catalogue calls: a key that may not be opened and
// one that may not be deleted.
typedef LONG(WINAPI* RegOpenKeyExWFn)(HKEY, LPCWSTR, DWORD, REGSAM, PHKEY);
typedef LONG(WINAPI* RegDeleteKeyWFn)(HKEY, LPCWSTR);
RegOpenKeyExWFn g_realOpen = nullptr;
RegDeleteKeyWFn g_realDelete = nullptr;
LONG WINAPI RefuseOpen(HKEY root, LPCWSTR path, DWORD options, REGSAM access, PHKEY result) {
    if (path && std::wcscmp(path, kZhe) == 0) return ERROR_ACCESS_DENIED;
    return g_realOpen(root, path, options, access, result);
}
LONG WINAPI RefuseDelete(HKEY parent, LPCWSTR subkey) {
    if (subkey && std::wcscmp(subkey, kZhe) == 0) return ERROR_ACCESS_DENIED;
    return g_realDelete(parent, subkey);
}

// A removal acts only on the program the user was asked about, named exactly as the list
// reads it: a key rewritten for another program is kept, also when the two names show
// alike in the code page; a display name value spelt in small letters is the display
// name, in the list and in the check alike; a key that is gone is gone, and any other
// failure says what the registry answered and keeps the key.
TEST_F(CatalogueKeyNames, RemoveIfNamedRemovesOnlyTheProgramItWasAskedAbout) {
    // "ЖЖ Suite" and "ДД Suite": both show as "?? Suite".
    const wchar_t kZheZhe[] = L"\x0416\x0416 Suite";
    const wchar_t kDeDe[] = L"\x0414\x0414 Suite";
    struct Case {
        const char* what;
        const wchar_t* valueName;  // the display name value as spelt in the key; null: none
        const wchar_t* seeded;     // its text
        const char* shown;         // what the list shows
        const wchar_t* rewritten;  // stage 1: the text another program writes meanwhile
        const wchar_t* askedName;  // null: the entry's own exact name, as the main window asks
        int stage;                 // 0 none, 1 rewritten, 2 deleted, 3 open refused, 4 delete refused
        ProgramEntryKey::RemoveOutcome outcome;
        LONG error;
        bool kept;
    };
    const Case cases[] = {
        {"unchanged", L"DisplayName", L"ZZE Cyr Zhe", "ZZE Cyr Zhe", nullptr, nullptr, 0, ProgramEntryKey::Removed,
         ERROR_SUCCESS, false},
        {"rewritten meanwhile", L"DisplayName", L"ZZE Cyr Zhe", "ZZE Cyr Zhe", L"Other Product", nullptr, 1,
         ProgramEntryKey::Changed, ERROR_SUCCESS, true},
        {"rewritten to a name that shows alike", L"DisplayName", kZheZhe, "?? Suite", kDeDe, nullptr, 1,
         ProgramEntryKey::Changed, ERROR_SUCCESS, true},
        {"its value spelt in small letters", L"displayname", L"ZZE Cyr Zhe", "ZZE Cyr Zhe", nullptr, nullptr, 0,
         ProgramEntryKey::Removed, ERROR_SUCCESS, false},
        {"its value spelt in capitals, rewritten", L"DISPLAYNAME", L"ZZE Cyr Zhe", "ZZE Cyr Zhe", L"Other Product",
         nullptr, 1, ProgramEntryKey::Changed, ERROR_SUCCESS, true},
        {"deleted meanwhile", L"DisplayName", L"ZZE Cyr Zhe", "ZZE Cyr Zhe", nullptr, nullptr, 2,
         ProgramEntryKey::Gone, ERROR_SUCCESS, false},
        {"open refused", L"DisplayName", L"ZZE Cyr Zhe", "ZZE Cyr Zhe", nullptr, nullptr, 3, ProgramEntryKey::Failed,
         ERROR_ACCESS_DENIED, true},
        {"delete refused", L"DisplayName", L"ZZE Cyr Zhe", "ZZE Cyr Zhe", nullptr, nullptr, 4,
         ProgramEntryKey::Failed, ERROR_ACCESS_DENIED, true},
        // A key without a display name shows its own name.
        {"no name of its own", nullptr, nullptr, "ZZE ?1", nullptr, nullptr, 0, ProgramEntryKey::Removed,
         ERROR_SUCCESS, false},
        {"asked by another name", L"DisplayName", L"ZZE Cyr Zhe", "ZZE Cyr Zhe", nullptr, L"ZZE Cyr De", 0,
         ProgramEntryKey::Changed, ERROR_SUCCESS, true},
        {"asked by a name that shows alike", L"DisplayName", kZheZhe, "?? Suite", nullptr, kDeDe, 0,
         ProgramEntryKey::Changed, ERROR_SUCCESS, true},
    };
    HMODULE advapi = GetModuleHandleA("advapi32.dll");
    g_realOpen = reinterpret_cast<RegOpenKeyExWFn>(reinterpret_cast<void*>(GetProcAddress(advapi, "RegOpenKeyExW")));
    g_realDelete =
        reinterpret_cast<RegDeleteKeyWFn>(reinterpret_cast<void*>(GetProcAddress(advapi, "RegDeleteKeyW")));
    ASSERT_TRUE(g_realOpen && g_realDelete);
    for (const Case& k : cases) {
        SCOPED_TRACE(k.what);
        Seed(kZhe, "ZZE Cyr Zhe", "Zhe Works", 1000);
        HKEY h = nullptr;
        ASSERT_EQ(ERROR_SUCCESS,
                  RegOpenKeyExW(HKEY_CURRENT_USER, (kUninstallPathW + kZhe).c_str(), 0, KEY_SET_VALUE, &h));
        RegDeleteValueA(h, "DisplayName");
        RegCloseKey(h);
        if (k.valueName) {
            ASSERT_TRUE(
                RegistrySandbox::SetString(HKEY_CURRENT_USER, kUninstallPathW + kZhe, k.valueName, k.seeded));
        }
        Seed(kDe, "ZZE Cyr De", "De Works", 2000);
        Collector c = Scan();
        ProgramEntry* zhe = ByKeyName(c, kZhe);
        ASSERT_TRUE(zhe != nullptr);
        EXPECT_EQ(k.shown, zhe->DisplayName);
        EXPECT_EQ(k.seeded ? std::wstring(k.seeded) : std::wstring(kZhe), zhe->ExactDisplayName);
        const ProgramEntryKey key = zhe->GetKey();

        const char* patched = nullptr;
        void* real = nullptr;
        if (k.stage == 1) {
            ASSERT_TRUE(
                RegistrySandbox::SetString(HKEY_CURRENT_USER, kUninstallPathW + kZhe, L"DisplayName", k.rewritten));
        } else if (k.stage == 2) {
            ASSERT_TRUE(RegistrySandbox::DeleteTree(HKEY_CURRENT_USER, kUninstallPathW + kZhe));
        } else if (k.stage == 3) {
            patched = "RegOpenKeyExW";
            real = cattest::PatchImport("advapi32.dll", patched, reinterpret_cast<void*>(&RefuseOpen));
        } else if (k.stage == 4) {
            patched = "RegDeleteKeyW";
            real = cattest::PatchImport("advapi32.dll", patched, reinterpret_cast<void*>(&RefuseDelete));
        }
        ProgramEntryKey::RemoveResult result = {ProgramEntryKey::Removed, -1};
        bool exists = false;
        if (patched == nullptr || real != nullptr) {
            result = key.RemoveIfNamed(k.askedName ? std::wstring(k.askedName) : zhe->ExactDisplayName);
            exists = key.Exists();
        }
        if (real) cattest::PatchImport("advapi32.dll", patched, real);
        ASSERT_TRUE(patched == nullptr || real != nullptr) << patched;

        EXPECT_EQ(k.outcome, result.outcome);
        EXPECT_EQ(k.error, result.error);
        EXPECT_EQ(k.kept, Listed(kZhe));
        // A key that could not be opened is not reported as gone.
        EXPECT_EQ(k.kept, exists);
        // Nothing but the program's own cache record goes with it.
        EXPECT_EQ(k.kept || k.stage == 2, Cached(kZhe));
        EXPECT_TRUE(Listed(kDe));
        EXPECT_TRUE(Cached(kDe));
        for (const wchar_t* name : {kZhe, kDe}) {
            RegistrySandbox::DeleteTree(HKEY_CURRENT_USER, kUninstallPathW + name);
            RegistrySandbox::DeleteTree(HKEY_CURRENT_USER, kArpCachePathW + name);
        }
    }
}

}  // namespace
