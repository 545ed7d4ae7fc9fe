// The registry scan, in a sandbox: both roots are redirected into a scratch key, so the
// catalogue reads exactly the entries each test seeds.
#include <gtest/gtest.h>
#include <cstring>
#include <cwchar>
#include "catalogue/catalogue.h"
#include "catalogue/debug_log.h"
#include "framework/app.h"
#include "catalogue_test_util.h"
#include "support/registry_sandbox.h"

using cattest::Collector;
using testsupport::RegistrySandbox;

namespace {

class CatalogueScan : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(box.Override(HKEY_CURRENT_USER, "HKCU"));
        ASSERT_TRUE(box.Override(HKEY_LOCAL_MACHINE, "HKLM"));
    }
    void TearDown() override { box.RestoreOverrides(); }

    static std::string Key(const std::string& name) { return UninstallKeyPath + name; }
    static std::string ArpKey(const std::string& name) { return ArpCacheKeyPath + name; }

    static void SetSz(const std::string& name, const char* value, const std::string& text, HKEY root = HKEY_CURRENT_USER) {
        ASSERT_TRUE(RegistrySandbox::SetString(root, Key(name), value, text)) << name << "\\" << value;
    }
    static void SetRaw(const std::string& name, const char* value, DWORD type, const void* data, DWORD size) {
        ASSERT_TRUE(RegistrySandbox::SetBinary(HKEY_CURRENT_USER, Key(name), value, data, size, type))
            << name << "\\" << value;
    }
    static void SetArp(const std::string& name, const void* data, DWORD size) {
        ASSERT_TRUE(RegistrySandbox::SetBinary(HKEY_CURRENT_USER, ArpKey(name), "SlowInfoCache", data, size));
    }

    Collector Scan() {
        Collector c;
        EXPECT_TRUE(catalogue.Refresh(&c)) << "a scan without the catalogue's own failure";
        return c;
    }

    // The fields a scan fills from the known value names.
    struct KnownFields {
        const char* displayName;
        const char* uninstall;
        const char* quietUninstall;
        const char* modify;
        const char* publisher;
        const char* installLocation;
        const char* helpLink;
        const char* installDate;
        const char* iconPath;
        int iconIndex;
    };
    static void ExpectKnownFields(const ProgramEntry& e, const KnownFields& f) {
        SCOPED_TRACE(e.RegistryPath);
        EXPECT_EQ(f.displayName, e.DisplayName);
        EXPECT_EQ(f.uninstall, e.UninstallString);
        EXPECT_EQ(f.quietUninstall, e.QuietUninstallString);
        EXPECT_EQ(f.modify, e.ModifyPath);
        EXPECT_EQ(f.publisher, e.Publisher);
        EXPECT_EQ(f.installLocation, e.InstallLocation);
        EXPECT_EQ(f.helpLink, e.HelpLink);
        EXPECT_EQ(f.installDate, e.InstallDate);
        EXPECT_EQ(f.iconPath, e.DisplayIconPath);
        EXPECT_EQ(f.iconIndex, e.IconIndex);
    }

    RegistrySandbox box;
    CVrelPurgelet catalogue;
};

TEST_F(CatalogueScan, FillsEveryKnownFieldFromItsValueName) {
    SetSz("App1", "DisplayName", "Alpha Suite");
    SetSz("App1", "UninstallString", "C:\\Alpha\\unins.exe /x");
    SetSz("App1", "QuietUninstallString", "C:\\Alpha\\unins.exe /q");
    SetSz("App1", "ModifyPath", "C:\\Alpha\\setup.exe /m");
    SetSz("App1", "Publisher", "Alpha Ltd");
    SetSz("App1", "InstallLocation", "C:\\Alpha\\");
    SetSz("App1", "HelpLink", "http://alpha.example/help");
    SetSz("App1", "InstallDate", "20240131");
    SetSz("App1", "DisplayIcon", "C:\\Alpha\\alpha.exe,-3");
    // The registry holds one value of a name whatever its spelling, so the other
    // spellings get a key of their own: each fills its field, as the registry finds
    // them, and is listed as it is spelt.
    SetSz("App2", "displayname", "Beta Suite");
    SetSz("App2", "UNINSTALLSTRING", "C:\\Beta\\unins.exe /x");
    SetSz("App2", "quietUninstallString", "C:\\Beta\\unins.exe /q");
    SetSz("App2", "modifypath", "C:\\Beta\\setup.exe /m");
    SetSz("App2", "PUBLISHER", "Beta Ltd");
    SetSz("App2", "installlocation", "C:\\Beta\\");
    SetSz("App2", "HELPLINK", "http://beta.example/help");
    SetSz("App2", "installDATE", "20250228");
    SetSz("App2", "displayICON", "C:\\Beta\\beta.exe,2");
    ASSERT_TRUE(RegistrySandbox::SetDword(HKEY_CURRENT_USER, Key("App1"), "EstimatedSize", 255));

    Collector c = Scan();
    ASSERT_EQ(2u, c.entries.size());
    ProgramEntry* e = c.Find("App1");
    ASSERT_TRUE(e != nullptr);
    EXPECT_EQ("\\HKEY_CURRENT_USER\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\App1", e->RegistryPath);
    ExpectKnownFields(*e, {"Alpha Suite", "C:\\Alpha\\unins.exe /x", "C:\\Alpha\\unins.exe /q",
                           "C:\\Alpha\\setup.exe /m", "Alpha Ltd", "C:\\Alpha\\", "http://alpha.example/help",
                           "20240131", "C:\\Alpha\\alpha.exe", -3});
    EXPECT_FALSE(e->IsLocalMachine);
    EXPECT_FALSE(e->HasArpCacheData);
    EXPECT_EQ(0, e->InstalledSize);
    EXPECT_EQ("", e->ExePath);

    // Every text and number value is listed, ordered byte-wise (capitals first).
    std::vector<std::string> names;
    for (const auto& v : e->Values) names.push_back(v.first);
    const std::vector<std::string> expected = {"DisplayIcon",     "DisplayName", "EstimatedSize",
                                               "HelpLink",        "InstallDate", "InstallLocation",
                                               "ModifyPath",      "Publisher",   "QuietUninstallString",
                                               "UninstallString"};
    EXPECT_EQ(expected, names);
    EXPECT_EQ("255   (hex: 0x000000FF)", e->Values["EstimatedSize"]);

    ProgramEntry* other = c.Find("App2");
    ASSERT_TRUE(other != nullptr);
    ExpectKnownFields(*other,
                      {"Beta Suite", "C:\\Beta\\unins.exe /x", "C:\\Beta\\unins.exe /q", "C:\\Beta\\setup.exe /m",
                       "Beta Ltd", "C:\\Beta\\", "http://beta.example/help", "20250228", "C:\\Beta\\beta.exe", 2});
    EXPECT_EQ(L"Beta Suite", other->ExactDisplayName);
    names.clear();
    for (const auto& v : other->Values) names.push_back(v.first);
    const std::vector<std::string> spelt = {"HELPLINK",   "PUBLISHER",  "UNINSTALLSTRING", "displayICON",
                                            "displayname", "installDATE", "installlocation", "modifypath",
                                            "quietUninstallString"};
    EXPECT_EQ(spelt, names);
    EXPECT_EQ("Beta Suite", other->Values["displayname"]);
}

TEST_F(CatalogueScan, SplitsDisplayIconAtTheFirstComma) {
    struct Case {
        const char* key;
        const char* icon;  // null: no DisplayIcon value
        const char* path;
        int index;
    } cases[] = {
        {"IconNeg", "C:\\p\\a.exe,-3", "C:\\p\\a.exe", -3},
        {"IconTwo", "a,b,c", "a", 0},
        {"IconNone", "\"C:\\q\\b.exe\"", "\"C:\\q\\b.exe\"", 0},
        {"IconHuge", "x.ico,99999999999", "x.ico", 2147483647},
        {"IconEmpty", "", "C:\\exe\\from-cache.exe", 0},
        {"IconMissing", nullptr, "C:\\exe\\from-cache.exe", 0},
    };
    const ArpCacheRecord record = cattest::MakeArpRecord(1, 0, 0, 0, L"C:\\exe\\from-cache.exe");
    for (const Case& k : cases) {
        SetSz(k.key, "Publisher", "P");  // keeps the version lookup out of it
        if (k.icon) SetSz(k.key, "DisplayIcon", k.icon);
        SetArp(k.key, &record, sizeof(record));
    }
    Collector c = Scan();
    for (const Case& k : cases) {
        ProgramEntry* e = c.Find(k.key);
        ASSERT_TRUE(e != nullptr) << k.key;
        EXPECT_EQ(k.path, e->DisplayIconPath) << k.key;
        EXPECT_EQ(k.index, e->IconIndex) << k.key;
    }
}

TEST_F(CatalogueScan, KeepsEntriesWithoutNamesOrCommandsAndSkipsKeysWithoutValues) {
    SetSz("NoName", "UninstallString", "x.exe");
    SetSz("NoCommand", "DisplayName", "Named only");
    ASSERT_TRUE(RegistrySandbox::SetString(HKEY_CURRENT_USER, Key("NoValues") + "\\Child", "DisplayName", "deeper"));

    Collector c = Scan();
    ASSERT_EQ(2u, c.entries.size());
    ASSERT_TRUE(c.Find("NoName") != nullptr);
    EXPECT_EQ("NoName", c.Find("NoName")->DisplayName);
    ASSERT_TRUE(c.Find("NoCommand") != nullptr);
    EXPECT_EQ("", c.Find("NoCommand")->UninstallString);
    EXPECT_TRUE(c.Find("NoValues") == nullptr);
    EXPECT_TRUE(c.Find("Child") == nullptr);
}

TEST_F(CatalogueScan, ValuesOfOddTypesAndSizesAreReadSafely) {
    // Written first, so that a shorter value read after it would show stale bytes.
    const std::string filler(300, 'Z');
    const DWORD dword = 0x00434241;  // "ABC" as bytes
    const char multi[] = "first\0second\0";
    const char binary[] = {'B', 'i', 'n', '\0', 'a', 'r', 'y'};
    const BYTE shortDword[] = {0xFF, 0x01};
    const BYTE oneByte[] = {0x7F};
    const BYTE longDword[] = {0x01, 0x00, 0x00, 0x00, 0xEE, 0xEE};
    const std::string huge(65535, 'h');

    SetSz("TypeDword", "AFiller", filler);
    SetRaw("TypeDword", "DisplayName", REG_DWORD, &dword, sizeof(dword));
    SetSz("TypeExpand", "AFiller", filler);
    SetRaw("TypeExpand", "DisplayName", REG_EXPAND_SZ, "%ProgramFiles%\\Expand", 22);
    SetRaw("TypeExpand", "UninstallString", REG_EXPAND_SZ, "%SystemRoot%\\unins.exe", 23);
    SetSz("TypeMulti", "AFiller", filler);
    SetRaw("TypeMulti", "DisplayName", REG_MULTI_SZ, multi, sizeof(multi));
    SetSz("TypeBinary", "AFiller", filler);
    SetRaw("TypeBinary", "DisplayName", REG_BINARY, binary, sizeof(binary));
    SetSz("TypeEmpty", "AFiller", filler);
    SetRaw("TypeEmpty", "DisplayName", REG_SZ, "", 0);
    SetSz("TypeUnterminated", "AFiller", filler);
    SetRaw("TypeUnterminated", "DisplayName", REG_SZ, "Odd", 3);
    SetRaw("TypeUnterminated", "Publisher", REG_SZ, "Even", 4);
    SetSz("TypeShortDword", "DisplayName", "short numbers");
    SetRaw("TypeShortDword", "Two", REG_DWORD, shortDword, sizeof(shortDword));
    SetRaw("TypeShortDword", "One", REG_DWORD, oneByte, sizeof(oneByte));
    SetRaw("TypeShortDword", "Zero", REG_DWORD, nullptr, 0);
    SetRaw("TypeShortDword", "Six", REG_DWORD, longDword, sizeof(longDword));
    SetSz("TypeHuge", "AFiller", "a");
    SetSz("TypeHuge", "DisplayName", huge);

    Collector c = Scan();
    struct Case {
        const char* key;
        const char* displayName;
        const char* listed;  // text under "DisplayName" in Values; null: not listed
    } cases[] = {
        {"TypeDword", "ABC", "4407873   (hex: 0x00434241)"},
        {"TypeExpand", "%ProgramFiles%\\Expand", nullptr},
        {"TypeMulti", "first", nullptr},
        {"TypeBinary", "Bin", nullptr},
        {"TypeEmpty", "TypeEmpty", ""},
        {"TypeUnterminated", "Odd", "Odd"},
    };
    for (const Case& k : cases) {
        ProgramEntry* e = c.Find(k.key);
        ASSERT_TRUE(e != nullptr) << k.key;
        EXPECT_EQ(k.displayName, e->DisplayName) << k.key;
        auto it = e->Values.find("DisplayName");
        if (k.listed) {
            ASSERT_TRUE(it != e->Values.end()) << k.key;
            EXPECT_EQ(k.listed, it->second) << k.key;
        } else {
            EXPECT_TRUE(it == e->Values.end()) << k.key;
        }
        EXPECT_EQ(filler, e->Values["AFiller"]) << k.key;
    }
    EXPECT_EQ("%SystemRoot%\\unins.exe", c.Find("TypeExpand")->UninstallString);
    EXPECT_EQ("Even", c.Find("TypeUnterminated")->Publisher);

    ProgramEntry* numbers = c.Find("TypeShortDword");
    ASSERT_TRUE(numbers != nullptr);
    EXPECT_EQ("511   (hex: 0x000001FF)", numbers->Values["Two"]);
    EXPECT_EQ("127   (hex: 0x0000007F)", numbers->Values["One"]);
    EXPECT_EQ("0   (hex: 0x00000000)", numbers->Values["Zero"]);
    EXPECT_EQ("1   (hex: 0x00000001)", numbers->Values["Six"]);

    ProgramEntry* big = c.Find("TypeHuge");
    ASSERT_TRUE(big != nullptr);
    EXPECT_EQ(huge.size(), big->DisplayName.size());
    EXPECT_EQ(huge, big->DisplayName);
}

// Registry calls that go wrong while the catalogue reads, staged at the imports it calls:
// a value that another program lengthens between the key's query and its read, one that
// keeps growing, one that cannot be read, and a subkey that cannot be enumerated.
typedef LONG(WINAPI* RegEnumValueWFn)(HKEY, DWORD, LPWSTR, LPDWORD, LPDWORD, LPDWORD, LPBYTE, LPDWORD);
typedef LONG(WINAPI* RegEnumKeyExWFn)(HKEY, DWORD, LPWSTR, LPDWORD, LPDWORD, LPWSTR, LPDWORD, PFILETIME);
RegEnumValueWFn g_realRegEnumValueW = nullptr;
RegEnumKeyExWFn g_realRegEnumKeyExW = nullptr;
std::string g_growingKey;  // the key whose values grow, below the redirected current user
int g_growOnce = 0;        // how often "Grows" is still lengthened
size_t g_keepsGrowingSize = 0;
int g_keyMoreData = 0;  // how often a subkey name is still reported as too long

void Lengthen(const char* value, size_t size) {
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, g_growingKey.c_str(), 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS) return;
    const std::string text(size - 1, value[0]);
    RegSetValueExA(key, value, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()), static_cast<DWORD>(size));
    RegCloseKey(key);
}

LONG WINAPI StagedEnumValue(HKEY key, DWORD index, LPWSTR name, LPDWORD nameLength, LPDWORD reserved, LPDWORD type,
                            LPBYTE data, LPDWORD dataLength) {
    wchar_t peek[64];
    DWORD peekLength = sizeof(peek) / sizeof(peek[0]);
    if (g_realRegEnumValueW(key, index, peek, &peekLength, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS) {
        if (std::wcscmp(peek, L"Grows") == 0 && g_growOnce > 0) {
            --g_growOnce;
            Lengthen("Grows", 5000);
        } else if (std::wcscmp(peek, L"KeepsGrowing") == 0) {
            g_keepsGrowingSize *= 4;
            Lengthen("KeepsGrowing", g_keepsGrowingSize);
        } else if (std::wcscmp(peek, L"Unreadable") == 0) {
            return ERROR_ACCESS_DENIED;
        }
    }
    return g_realRegEnumValueW(key, index, name, nameLength, reserved, type, data, dataLength);
}

LONG WINAPI StagedEnumKey(HKEY key, DWORD index, LPWSTR name, LPDWORD length, LPDWORD reserved, LPWSTR cls,
                          LPDWORD classLength, PFILETIME written) {
    wchar_t peek[64];
    DWORD peekLength = sizeof(peek) / sizeof(peek[0]);
    if (g_realRegEnumKeyExW(key, index, peek, &peekLength, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS) {
        if (std::wcscmp(peek, L"EnumFails") == 0) return ERROR_ACCESS_DENIED;
        if (std::wcscmp(peek, L"EnumRetried") == 0 && g_keyMoreData > 0) {
            --g_keyMoreData;
            return ERROR_MORE_DATA;
        }
    }
    return g_realRegEnumKeyExW(key, index, name, length, reserved, cls, classLength, written);
}

TEST_F(CatalogueScan, ValuesAndKeysThatFailToEnumerateAreRetriedOrSkipped) {
    SetSz("Growing", "DisplayName", "growing values");
    SetSz("Growing", "Grows", "short");
    SetSz("Growing", "KeepsGrowing", "kkkk");
    SetSz("Growing", "Unreadable", "u");
    SetSz("Growing", "Zafter", "read after the failures");
    SetSz("EnumFails", "DisplayName", "cannot be enumerated");
    SetSz("EnumRetried", "DisplayName", "asked again");
    SetSz("Plain", "DisplayName", "plain");
    g_growingKey = Key("Growing");
    g_growOnce = 1;
    // 8000 bytes at the first read (beyond what reading "Grows" left room for), four
    // times more at each read after.
    g_keepsGrowingSize = 2000;
    g_keyMoreData = 2;

    HMODULE advapi = GetModuleHandleA("advapi32.dll");
    g_realRegEnumValueW =
        reinterpret_cast<RegEnumValueWFn>(reinterpret_cast<void*>(GetProcAddress(advapi, "RegEnumValueW")));
    g_realRegEnumKeyExW =
        reinterpret_cast<RegEnumKeyExWFn>(reinterpret_cast<void*>(GetProcAddress(advapi, "RegEnumKeyExW")));
    ASSERT_TRUE(g_realRegEnumValueW && g_realRegEnumKeyExW);
    void* realValue = cattest::PatchImport("advapi32.dll", "RegEnumValueW", reinterpret_cast<void*>(&StagedEnumValue));
    void* realKey = cattest::PatchImport("advapi32.dll", "RegEnumKeyExW", reinterpret_cast<void*>(&StagedEnumKey));
    Collector c;
    if (realValue && realKey) catalogue.Refresh(&c);
    if (realValue) cattest::PatchImport("advapi32.dll", "RegEnumValueW", realValue);
    if (realKey) cattest::PatchImport("advapi32.dll", "RegEnumKeyExW", realKey);
    ASSERT_TRUE(realValue && realKey);

    ProgramEntry* e = c.Find("Growing");
    ASSERT_TRUE(e != nullptr);
    EXPECT_EQ(0, g_growOnce);
    EXPECT_EQ(std::string(4999, 'G'), e->Values["Grows"]) << "read again with a larger buffer";
    EXPECT_TRUE(e->Values.find("KeepsGrowing") == e->Values.end()) << "given up";
    EXPECT_TRUE(e->Values.find("Unreadable") == e->Values.end());
    EXPECT_EQ("read after the failures", e->Values["Zafter"]);
    EXPECT_EQ("growing values", e->DisplayName);

    EXPECT_TRUE(c.Find("EnumFails") == nullptr);
    ASSERT_TRUE(c.Find("EnumRetried") != nullptr);
    EXPECT_EQ("asked again", c.Find("EnumRetried")->DisplayName);
    EXPECT_EQ(0, g_keyMoreData);
    EXPECT_TRUE(c.Find("Plain") != nullptr);
}

// The catalogue's own failure, raised where the machine's Uninstall key is opened.
typedef LONG(WINAPI* RegOpenKeyExAFn)(HKEY, LPCSTR, DWORD, REGSAM, PHKEY);
RegOpenKeyExAFn g_realRegOpenKeyExA = nullptr;
LONG WINAPI ThrowOnMachineRoot(HKEY root, LPCSTR path, DWORD options, REGSAM access, PHKEY result) {
    if (root == HKEY_LOCAL_MACHINE && path && UninstallKeyPath == path) throw CVrelException("staged");
    return g_realRegOpenKeyExA(root, path, options, access, result);
}

// The catalogue has no window: it answers its failure to the caller and shows nothing.
class RecordingApp : public CWinApp {
public:
    RecordingApp() : CWinApp("Catalogue tests") {}
    int DoMessageBox(LPCTSTR prompt, UINT, UINT) override {
        boxes.push_back(prompt ? prompt : "(null)");
        return IDOK;
    }
    std::vector<std::string> boxes;
};

TEST_F(CatalogueScan, ACatalogueFailureIsAnsweredAndTheEntriesReadSoFarAreHandedOver) {
    SetSz("UserEntry", "DisplayName", "read before the failure");
    SetSz("MachineEntry", "DisplayName", "never read", HKEY_LOCAL_MACHINE);
    RecordingApp app;
    g_realRegOpenKeyExA = reinterpret_cast<RegOpenKeyExAFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("advapi32.dll"), "RegOpenKeyExA")));
    ASSERT_TRUE(g_realRegOpenKeyExA != nullptr);
    void* real = cattest::PatchImport("advapi32.dll", "RegOpenKeyExA", reinterpret_cast<void*>(&ThrowOnMachineRoot));
    ASSERT_TRUE(real != nullptr);
    Collector c;
    bool escaped = false, complete = true;
    try {
        complete = catalogue.Refresh(&c);
    } catch (...) {
        escaped = true;
    }
    cattest::PatchImport("advapi32.dll", "RegOpenKeyExA", real);

    EXPECT_FALSE(escaped);
    EXPECT_FALSE(complete);
    EXPECT_TRUE(app.boxes.empty()) << app.boxes.front();
    ASSERT_EQ(1u, c.entries.size());
    EXPECT_EQ("read before the failure", c.entries[0]->DisplayName);
    EXPECT_EQ(1, catalogue.GetCount());
}

TEST_F(CatalogueScan, ReadsTheArpCacheRecordInItsForms) {
    const ArpCacheRecord full = cattest::MakeArpRecord(123456789012LL, 0x11223344, 0x01D5AABB, 7,
                                                      L"C:\\Program Files\\Full\\full.exe");
    ArpCacheRecord unterminated = cattest::MakeArpRecord(5, 0, 0, 1, nullptr);
    unterminated.HasName = 1;
    for (WCHAR& ch : unterminated.Name) ch = L'A';
    const ArpCacheRecord negative = cattest::MakeArpRecord(-1, 0, 0, -4, nullptr);
    ArpCacheRecord noFlag = cattest::MakeArpRecord(9, 0, 0, 2, L"C:\\ignored.exe");
    noFlag.HasName = 0;
    std::vector<BYTE> oversized(600, 0x5A);
    std::memcpy(oversized.data(), &full, sizeof(full));

    const char* keys[] = {"ArpFull", "ArpShort", "ArpOversized", "ArpAbsent", "ArpEmpty",
                          "ArpUnterminated", "ArpNegative", "ArpNoFlag"};
    for (const char* k : keys) SetSz(k, "Publisher", "P");
    SetArp("ArpFull", &full, sizeof(full));
    SetArp("ArpShort", &full, 24);  // up to LastUsed: no frequency, no name
    SetArp("ArpOversized", oversized.data(), static_cast<DWORD>(oversized.size()));
    ASSERT_TRUE(RegistrySandbox::SetString(HKEY_CURRENT_USER, ArpCacheKeyPath + "ArpEmpty", "Other", "x"));
    SetArp("ArpUnterminated", &unterminated, sizeof(unterminated));
    SetArp("ArpNegative", &negative, sizeof(negative));
    SetArp("ArpNoFlag", &noFlag, sizeof(noFlag));

    Collector c = Scan();
    struct Case {
        const char* key;
        BOOL has;
        LONGLONG size;
        DWORD low, high;
        int frequency;
        std::string exe;
    } cases[] = {
        {"ArpFull", 1, 123456789012LL, 0x11223344, 0x01D5AABB, 7, "C:\\Program Files\\Full\\full.exe"},
        {"ArpShort", 1, 123456789012LL, 0x11223344, 0x01D5AABB, 0, ""},
        {"ArpOversized", 1, 0, 0, 0, 0, ""},
        {"ArpAbsent", 0, 0, 0, 0, 0, ""},
        {"ArpEmpty", 1, 0, 0, 0, 0, ""},
        {"ArpUnterminated", 1, 5, 0, 0, 1, std::string(262, 'A')},
        {"ArpNegative", 1, -1, 0, 0, -4, ""},
        {"ArpNoFlag", 1, 9, 0, 0, 2, ""},
    };
    for (const Case& k : cases) {
        ProgramEntry* e = c.Find(k.key);
        ASSERT_TRUE(e != nullptr) << k.key;
        EXPECT_EQ(k.has, e->HasArpCacheData) << k.key;
        EXPECT_EQ(k.size, e->InstalledSize) << k.key;
        EXPECT_EQ(k.low, e->LastUsed.dwLowDateTime) << k.key;
        EXPECT_EQ(k.high, e->LastUsed.dwHighDateTime) << k.key;
        EXPECT_EQ(k.frequency, e->Frequency) << k.key;
        EXPECT_EQ(k.exe, e->ExePath) << k.key;
        EXPECT_EQ(k.exe, e->DisplayIconPath) << k.key;
    }
}

TEST_F(CatalogueScan, MissingPublisherComesFromTheExecutablesVersionResource) {
    wchar_t self[MAX_PATH];
    ASSERT_GT(GetModuleFileNameW(nullptr, self, MAX_PATH), 0u);
    const ArpCacheRecord withSelf = cattest::MakeArpRecord(10, 0, 0, 1, self);
    const ArpCacheRecord withMissing = cattest::MakeArpRecord(10, 0, 0, 1, L"C:\\no\\such\\file.exe");
    SetSz("FromExe", "DisplayName", "Version donor");
    SetArp("FromExe", &withSelf, sizeof(withSelf));
    SetSz("OwnPublisher", "Publisher", "Stated Publisher");
    SetArp("OwnPublisher", &withSelf, sizeof(withSelf));
    SetSz("MissingExe", "DisplayName", "Gone");
    SetArp("MissingExe", &withMissing, sizeof(withMissing));

    Collector c = Scan();
    ASSERT_TRUE(c.Find("FromExe") && c.Find("OwnPublisher") && c.Find("MissingExe"));
    EXPECT_EQ("Corvalin Test Works", c.Find("FromExe")->Publisher);
    EXPECT_EQ("Stated Publisher", c.Find("OwnPublisher")->Publisher);
    EXPECT_EQ("", c.Find("MissingExe")->Publisher);
}

TEST_F(CatalogueScan, ReadsTheCurrentUserFirstAndHandsEveryEntryOver) {
    SetSz("Both", "DisplayName", "user copy");
    SetSz("Both", "DisplayName", "machine copy", HKEY_LOCAL_MACHINE);
    SetSz("UserOnly", "DisplayName", "u");

    Collector c = Scan();
    std::vector<ProgramEntry*> both = c.All("Both");
    // The redirected machine root cannot tell the two registry views apart, so under WOW64
    // the sandboxed machine key is seen once per view.
    ASSERT_GE(both.size(), 2u);
    EXPECT_EQ("user copy", both[0]->DisplayName);
    EXPECT_FALSE(both[0]->IsLocalMachine);
    EXPECT_EQ("machine copy", both[1]->DisplayName);
    EXPECT_TRUE(both[1]->IsLocalMachine);
    EXPECT_EQ("\\HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Both",
              both[1]->RegistryPath);
    EXPECT_EQ(c.entries.size(), static_cast<size_t>(catalogue.GetCount()));

    // Populate hands the same entries over again, in the same order, without reading.
    Collector again;
    catalogue.Populate(&again);
    EXPECT_EQ(c.entries, again.entries);

    catalogue.Clear();
    EXPECT_EQ(0, catalogue.GetCount());
}

// A long read says it is at work from its start to its end: while the entries of the
// last read are freed (every 1024), as each key is listed, as the keys are read (those of
// the first of at most four readers one by one), all before the first entry is handed over.
TEST_F(CatalogueScan, ALongReadSaysItIsAtWorkThroughout) {
    struct Watching : Collector {
        explicit Watching(const CVrelPurgelet& c) : catalogue(c) {}
        void Reading() override {
            Collector::Reading();
            if (catalogue.GetCount() > 0) ++whileFreeing;
        }
        const CVrelPurgelet& catalogue;
        int whileFreeing = 0;
    };
    const int kKeys = 1100;
    for (int i = 0; i < kKeys; ++i) SetSz("Long " + std::to_string(i), "DisplayName", "program");
    Watching first(catalogue), again(catalogue);
    ASSERT_TRUE(catalogue.Refresh(&first));
    ASSERT_GE(first.entries.size(), static_cast<size_t>(kKeys));
    EXPECT_GE(first.readingsBeforeFirst, kKeys + kKeys / 4);
    EXPECT_EQ(0, first.whileFreeing);
    ASSERT_TRUE(catalogue.Refresh(&again));
    EXPECT_EQ(first.entries.size(), again.entries.size());
    EXPECT_GE(again.whileFreeing, 2);
    EXPECT_GE(again.readingsBeforeFirst, kKeys + kKeys / 4 + 2);
}

// A subkey that cannot be opened (access denied), staged at the import the catalogue
// opens subkeys with.
typedef LONG(WINAPI* RegOpenKeyExWFn)(HKEY, LPCWSTR, DWORD, REGSAM, PHKEY);
RegOpenKeyExWFn g_realRegOpenKeyExW = nullptr;
LONG WINAPI RefuseLocked(HKEY root, LPCWSTR path, DWORD options, REGSAM access, PHKEY result) {
    if (path && std::wcscmp(path, L"Locked \x0416") == 0) return ERROR_ACCESS_DENIED;
    return g_realRegOpenKeyExW(root, path, options, access, result);
}

TEST_F(CatalogueScan, LogsSubkeysThatCannotBeOpenedAndGoesOn) {
    cattest::TempFolder folder;
    char previous[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, previous);
    ASSERT_TRUE(SetCurrentDirectoryA(folder.Path().c_str()));
    DebugLogRestart();

    // Names outside the code page and inside it are read alike; the log names a key that
    // cannot be opened as the code page shows it.
    const std::wstring uninstall(L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\");
    ASSERT_TRUE(RegistrySandbox::SetString(HKEY_CURRENT_USER, uninstall + L"\x041f\x0440\x043e", "DisplayName",
                                           "Cyrillic"));
    ASSERT_TRUE(RegistrySandbox::SetString(HKEY_CURRENT_USER, uninstall + L"Caf\x00e9", "DisplayName",
                                           "Caf\xE9 Suite"));
    ASSERT_TRUE(RegistrySandbox::SetString(HKEY_CURRENT_USER, uninstall + L"Locked \x0416", "DisplayName", "locked"));
    SetSz("Plain", "DisplayName", "plain");

    g_realRegOpenKeyExW = reinterpret_cast<RegOpenKeyExWFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("advapi32.dll"), "RegOpenKeyExW")));
    ASSERT_TRUE(g_realRegOpenKeyExW != nullptr);
    void* real = cattest::PatchImport("advapi32.dll", "RegOpenKeyExW", reinterpret_cast<void*>(&RefuseLocked));
    Collector c;
    if (real) catalogue.Refresh(&c);
    if (real) cattest::PatchImport("advapi32.dll", "RegOpenKeyExW", real);
    bool exists = false;
    const std::string log = cattest::ReadWholeFile(folder.Path() + "~debug.log", &exists);
    DebugLogRestart();
    SetCurrentDirectoryA(previous);
    ASSERT_TRUE(real != nullptr);

    EXPECT_TRUE(exists);
    // The log is a text-mode file: the C library writes each line feed as CR LF.
    EXPECT_EQ("node = Locked ?\r\n", log);
    ASSERT_EQ(3u, c.entries.size());
    ASSERT_TRUE(c.Find("Caf\xE9") != nullptr);
    EXPECT_EQ("Caf\xE9 Suite", c.Find("Caf\xE9")->DisplayName);
    EXPECT_EQ(L"Caf\x00e9", c.Find("Caf\xE9")->KeyName);
    ASSERT_TRUE(c.Find("???") != nullptr);
    EXPECT_EQ("Cyrillic", c.Find("???")->DisplayName);
    EXPECT_EQ(L"\x041f\x0440\x043e", c.Find("???")->KeyName);
    EXPECT_TRUE(c.Find("Plain") != nullptr);
}

class CatalogueRemove : public CatalogueScan {};

// Stands in for a registry that refuses to delete the key "Denied" (access denied);
// every other deletion goes through.
typedef LONG(WINAPI* RegDeleteKeyWFn)(HKEY, LPCWSTR);
RegDeleteKeyWFn g_realRegDeleteKeyW = nullptr;
LONG WINAPI RefuseDenied(HKEY parent, LPCWSTR subkey) {
    if (subkey && std::wcscmp(subkey, L"Denied") == 0) return ERROR_ACCESS_DENIED;
    return g_realRegDeleteKeyW(parent, subkey);
}

TEST_F(CatalogueRemove, DeletesTheUninstallAndArpKeysOfItsOwnRootOnly) {
    const ArpCacheRecord record = cattest::MakeArpRecord(1, 0, 0, 1, nullptr);
    SetSz("Gone", "DisplayName", "to be removed");
    SetArp("Gone", &record, sizeof(record));
    SetSz("Gone", "DisplayName", "machine twin", HKEY_LOCAL_MACHINE);

    Collector c = Scan();
    ProgramEntry* user = c.Find("Gone");
    ASSERT_TRUE(user != nullptr);
    ASSERT_FALSE(user->IsLocalMachine);
    EXPECT_TRUE(user->RemoveEntry());
    EXPECT_FALSE(RegistrySandbox::KeyExists(HKEY_CURRENT_USER, Key("Gone")));
    EXPECT_FALSE(RegistrySandbox::KeyExists(HKEY_CURRENT_USER, ArpKey("Gone")));
    EXPECT_TRUE(RegistrySandbox::KeyExists(HKEY_LOCAL_MACHINE, Key("Gone")));
    // The entry itself stays until the next refresh; removing it again finds nothing to do.
    EXPECT_EQ("to be removed", user->DisplayName);
    EXPECT_TRUE(user->RemoveEntry());
}

TEST_F(CatalogueRemove, ReportsWhatCouldNotBeDeleted) {
    SetSz("Parent", "DisplayName", "has a subkey");
    ASSERT_TRUE(RegistrySandbox::SetString(HKEY_CURRENT_USER, Key("Parent") + "\\Patch", "x", "y"));
    SetSz("ArpParent", "DisplayName", "cache key has a subkey");
    ASSERT_TRUE(RegistrySandbox::SetString(HKEY_CURRENT_USER, ArpKey("ArpParent") + "\\Inner", "x", "y"));
    SetSz("NoArp", "DisplayName", "no cache key");

    Collector c = Scan();
    ASSERT_TRUE(c.Find("Parent") && c.Find("ArpParent") && c.Find("NoArp"));

    // A key with subkeys of its own is not deleted, and that is a failure; the deletion is
    // never widened to the subkeys, and the cache key is left alone.
    EXPECT_FALSE(c.Find("Parent")->RemoveEntry());
    EXPECT_TRUE(RegistrySandbox::KeyExists(HKEY_CURRENT_USER, Key("Parent") + "\\Patch"));

    EXPECT_FALSE(c.Find("ArpParent")->RemoveEntry());
    EXPECT_FALSE(RegistrySandbox::KeyExists(HKEY_CURRENT_USER, Key("ArpParent")));
    EXPECT_TRUE(RegistrySandbox::KeyExists(HKEY_CURRENT_USER, ArpKey("ArpParent") + "\\Inner"));

    // No cache key is not a failure.
    EXPECT_TRUE(c.Find("NoArp")->RemoveEntry());
    EXPECT_FALSE(RegistrySandbox::KeyExists(HKEY_CURRENT_USER, Key("NoArp")));

    // A path without a backslash names nothing.
    ProgramEntry bare;
    bare.RegistryPath = "NoBackslash";
    EXPECT_FALSE(bare.RemoveEntry());
    ProgramEntry trailing;
    trailing.RegistryPath = "\\HKEY_CURRENT_USER\\" + UninstallKeyPath;
    EXPECT_FALSE(trailing.RemoveEntry());
    EXPECT_TRUE(RegistrySandbox::KeyExists(HKEY_CURRENT_USER, UninstallKeyPath));
}

TEST_F(CatalogueRemove, ReportsADeletionTheRegistryRefuses) {
    const ArpCacheRecord record = cattest::MakeArpRecord(1, 0, 0, 1, nullptr);
    SetSz("Denied", "DisplayName", "may not be deleted");
    SetArp("Denied", &record, sizeof(record));
    Collector c = Scan();
    ProgramEntry* denied = c.Find("Denied");
    ASSERT_TRUE(denied != nullptr);

    // The registry of the test prefix does not enforce a key's DACL, so the refusal is
    // staged at the import the catalogue calls.
    g_realRegDeleteKeyW = reinterpret_cast<RegDeleteKeyWFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("advapi32.dll"), "RegDeleteKeyW")));
    ASSERT_TRUE(g_realRegDeleteKeyW != nullptr);
    void* real = cattest::PatchImport("advapi32.dll", "RegDeleteKeyW", reinterpret_cast<void*>(&RefuseDenied));
    ASSERT_TRUE(real != nullptr);
    const BOOL removed = denied->RemoveEntry();
    cattest::PatchImport("advapi32.dll", "RegDeleteKeyW", real);

    EXPECT_FALSE(removed);
    EXPECT_TRUE(RegistrySandbox::KeyExists(HKEY_CURRENT_USER, Key("Denied")));
    // The program stays listed, so its cached size and usage stay with it.
    EXPECT_TRUE(RegistrySandbox::KeyExists(HKEY_CURRENT_USER, ArpKey("Denied")));
}

}  // namespace
