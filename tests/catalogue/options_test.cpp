// The ten options through the application's profile functions, in a redirected
// HKEY_CURRENT_USER: value names, stored forms, and the odd texts a user or an older
// version may have left there.
#include <gtest/gtest.h>
#include <vector>
#include "catalogue/options.h"
#include "framework/app.h"
#include "support/registry_sandbox.h"

using testsupport::RegistrySandbox;

namespace {

OptionValue* const kAll[] = {&g_SizeType, &g_GridColor1, &g_GridColor2, &g_GridEnabled, &g_AutoRefresh,
                             &g_Hide,     &g_ShowCats,   &g_ShowDetails, &g_CatsSize,    &g_ListSize};
const char kSection[] = "Software\\Corvalin\\Nimbo Purgelet\\Nimbo Purgelet";

class Options : public ::testing::Test {
protected:
    void SetUp() override {
        for (OptionValue* o : kAll) {
            saved.push_back(o->Value);
            savedChanged.push_back(o->Changed);
            o->Changed = false;
        }
        ASSERT_TRUE(box.Override(HKEY_CURRENT_USER, "HKCU"));
        // A user's hive always has "Software"; the profile functions open it, not create it.
        HKEY software;
        ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, "Software", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                                 &software, nullptr));
        RegCloseKey(software);
        app.SetRegistryKey("Corvalin");
        ASSERT_STREQ("Nimbo Purgelet", app.m_pszProfileName);
    }
    void TearDown() override {
        for (size_t i = 0; i < saved.size(); ++i) {
            kAll[i]->Value = saved[i];
            kAll[i]->Changed = savedChanged[i];
        }
        box.RestoreOverrides();
    }
    static void Defaults() {
        const int defaults[] = {2, 0xF5EEEB, 0xFFFFFF, 1, 1, 0, 1, 1, 20, 65};
        for (size_t i = 0; i < 10; ++i) kAll[i]->Value = defaults[i];
    }
    static void Store(const char* name, const std::string& text) {
        ASSERT_TRUE(RegistrySandbox::SetString(HKEY_CURRENT_USER, kSection, name, text));
    }
    static std::string ReadText(const char* name, DWORD* type) {
        char buf[256] = {};
        DWORD size = sizeof(buf) - 1;
        HKEY key;
        *type = REG_NONE;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, kSection, 0, KEY_READ, &key) != ERROR_SUCCESS) return "(no key)";
        LONG rc = RegQueryValueExA(key, name, nullptr, type, reinterpret_cast<BYTE*>(buf), &size);
        RegCloseKey(key);
        if (rc != ERROR_SUCCESS) return "(missing)";
        if (*type == REG_DWORD) return std::to_string(*reinterpret_cast<DWORD*>(buf));
        return buf;
    }

    std::vector<int> saved;
    std::vector<bool> savedChanged;
    RegistrySandbox box;
    CWinApp app{"Nimbo Purgelet"};
};

TEST_F(Options, NothingStoredKeepsTheDefaultsAndTheFirstSaveWritesAllTen) {
    Defaults();
    LoadSettings();
    const int defaults[] = {2, 0xF5EEEB, 0xFFFFFF, 1, 1, 0, 1, 1, 20, 65};
    for (size_t i = 0; i < 10; ++i) EXPECT_EQ(defaults[i], kAll[i]->Value) << kAll[i]->Name;

    SaveSettings();
    struct Case {
        const char* name;
        DWORD type;
        const char* text;
    } cases[] = {
        {"SizeType", REG_DWORD, "2"},           {"GridColor1", REG_SZ, "235,238,245"},
        {"GridColor2", REG_SZ, "255,255,255"},  {"GridEnabled", REG_SZ, "TRUE"},
        {"AutoRefresh", REG_SZ, "TRUE"},        {"Hide", REG_SZ, "FALSE"},
        {"ShowCats", REG_SZ, "TRUE"},           {"ShowDetails", REG_SZ, "TRUE"},
        {"CatsSize", REG_DWORD, "20"},          {"ListSize", REG_DWORD, "65"},
    };
    for (const Case& k : cases) {
        DWORD type = 0;
        EXPECT_EQ(k.text, ReadText(k.name, &type)) << k.name;
        EXPECT_EQ(k.type, type) << k.name;
    }

    // A later save writes only what changed in this run: what another hand stored in
    // between stays where the value in memory was not changed.
    Store("Hide", "yes");
    Store("GridColor2", "1,2,3");
    ASSERT_TRUE(RegistrySandbox::SetDword(HKEY_CURRENT_USER, kSection, "CatsSize", 99));
    ASSERT_TRUE(RegistrySandbox::SetDword(HKEY_CURRENT_USER, kSection, "ListSize", 98));
    g_ListSize.Value = 70;
    g_ListSize.Changed = true;
    SaveSettings();
    g_ListSize.Changed = false;
    for (Case& k : cases) {
        if (std::string(k.name) == "Hide") k.text = "yes";
        if (std::string(k.name) == "GridColor2") k.text = "1,2,3";
        if (std::string(k.name) == "CatsSize") k.text = "99";
        if (std::string(k.name) == "ListSize") k.text = "70";
    }
    for (const Case& k : cases) {
        DWORD type = 0;
        EXPECT_EQ(k.text, ReadText(k.name, &type)) << "second save: " << k.name;
        EXPECT_EQ(k.type, type) << "second save: " << k.name;
    }
}

TEST_F(Options, SavedValuesLoadBack) {
    const int values[] = {3, 0x00123456, 0x00000001, 0, 0, 1, 0, 0, 33, 71};
    for (size_t i = 0; i < 10; ++i) kAll[i]->Value = values[i];
    SaveSettings();
    DWORD type = 0;
    EXPECT_EQ("86,52,18", ReadText("GridColor1", &type));
    Defaults();
    LoadSettings();
    for (size_t i = 0; i < 10; ++i) EXPECT_EQ(values[i], kAll[i]->Value) << kAll[i]->Name;
}

TEST_F(Options, ColourTextsLoadFieldByField) {
    struct Case {
        const char* text;
        int value;
    } cases[] = {
        {"255,0,0", 0x0000FF},
        {"10,20", 0x00140A},  // a missing field is zero
        {"1,2,3,4", 0x030201},
        {" 7, 8,9", 0x090807},
        {"abc", 0},
        {"300,0,0", 0x12C},           // a field beyond a byte spills into the next
        {"0,1,256", 0x1000100},       // ... and the blue one past the colour
        {"-1,0,0", -1},               // negative fields are defined too
        {"99999999999,0,0", 0x7FFFFFFF},
    };
    for (const Case& k : cases) {
        Store("GridColor2", k.text);
        g_GridColor2.Value = 0x5A5A5A;
        g_GridColor2.LoadColor(app.m_pszProfileName);
        EXPECT_EQ(k.value, g_GridColor2.Value) << k.text;
    }
    Store("GridColor2", "");
    g_GridColor2.Value = 0x5A5A5A;
    g_GridColor2.LoadColor(app.m_pszProfileName);
    EXPECT_EQ(0x5A5A5A, g_GridColor2.Value) << "an empty text keeps the value";
}

TEST_F(Options, BooleanTextsLoadAsTrueOnlyForTrue) {
    struct Case {
        const char* text;
        int before;
        int value;
    } cases[] = {
        {"TRUE", 0, 1}, {"true", 0, 1}, {"TrUe", 0, 1}, {"FALSE", 1, 0}, {"yes", 1, 0},
        {"1", 1, 0},    {"TRUE ", 1, 0}, {"", 1, 1},     {"", 0, 0},
    };
    for (const Case& k : cases) {
        Store("Hide", k.text);
        g_Hide.Value = k.before;
        g_Hide.LoadBool(app.m_pszProfileName);
        EXPECT_EQ(k.value, g_Hide.Value) << "\"" << k.text << "\" over " << k.before;
    }
}

TEST_F(Options, ValuesOfTheWrongTypeAreIgnored) {
    ASSERT_TRUE(RegistrySandbox::SetDword(HKEY_CURRENT_USER, kSection, "ShowCats", 0));
    ASSERT_TRUE(RegistrySandbox::SetDword(HKEY_CURRENT_USER, kSection, "GridColor1", 0x112233));
    Store("CatsSize", "40");
    const BYTE twoBytes[] = {1, 2};
    ASSERT_TRUE(RegistrySandbox::SetBinary(HKEY_CURRENT_USER, kSection, "ListSize", twoBytes, 2, REG_DWORD));
    ASSERT_TRUE(RegistrySandbox::SetDword(HKEY_CURRENT_USER, kSection, "SizeType", 0xFFFFFFFF));
    Defaults();
    LoadSettings();
    EXPECT_EQ(1, g_ShowCats.Value);
    EXPECT_EQ(0xF5EEEB, g_GridColor1.Value);
    EXPECT_EQ(20, g_CatsSize.Value);
    EXPECT_EQ(65, g_ListSize.Value);
    EXPECT_EQ(-1, g_SizeType.Value);
}

}  // namespace
