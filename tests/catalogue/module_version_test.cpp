// Version resources: the test executable's own (translation 0409/1200) and a copy of it
// whose resource has no translation table, which must be read under 04e4.
#include <gtest/gtest.h>
#include <cstring>
#include <string>
#include "catalogue/module_version.h"
#include "catalogue_test_util.h"

namespace {

std::string SelfPath() {
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    return path;
}

// One node of a version resource: length, value length, type, key, value, children,
// each part aligned on 32 bits.
std::string VersionNode(const wchar_t* key, const std::string& value, WORD valueLength, WORD type,
                        const std::string& children) {
    std::string b(6, '\0');
    b.append(reinterpret_cast<const char*>(key), (wcslen(key) + 1) * sizeof(wchar_t));
    while (b.size() % 4) b.push_back('\0');
    b += value;
    if (!children.empty()) {
        while (b.size() % 4) b.push_back('\0');
        b += children;
    }
    WORD length = static_cast<WORD>(b.size());
    std::memcpy(&b[0], &length, 2);
    std::memcpy(&b[2], &valueLength, 2);
    std::memcpy(&b[4], &type, 2);
    while (b.size() % 4) b.push_back('\0');
    return b;
}

std::string WideBytes(const wchar_t* text) {
    return std::string(reinterpret_cast<const char*>(text), (wcslen(text) + 1) * sizeof(wchar_t));
}

// A version resource with a string table "000004e4" and no VarFileInfo.
std::string VersionWithoutTranslation() {
    VS_FIXEDFILEINFO fixed = {};
    fixed.dwSignature = 0xFEEF04BD;
    fixed.dwStrucVersion = 0x00010000;
    fixed.dwFileVersionMS = 0x00050006;
    const std::string company = VersionNode(L"CompanyName", WideBytes(L"Neutral Latin Works"),
                                            static_cast<WORD>(wcslen(L"Neutral Latin Works") + 1), 1, "");
    const std::string table = VersionNode(L"000004e4", "", 0, 1, company);
    const std::string strings = VersionNode(L"StringFileInfo", "", 0, 1, table);
    return VersionNode(L"VS_VERSION_INFO", std::string(reinterpret_cast<const char*>(&fixed), sizeof(fixed)),
                       sizeof(fixed), 0, strings);
}

TEST(ModuleVersion, ReadsTheCompanyNameUnderTheResourcesTranslation) {
    CModuleVersion version;
    ASSERT_TRUE(version.GetFileVersionInfo(SelfPath().c_str()));
    EXPECT_EQ(0xFEEF04BDu, version.dwSignature);
    EXPECT_EQ(0x00010002u, version.dwFileVersionMS);
    EXPECT_EQ(0x00030004u, version.dwFileVersionLS);
    EXPECT_EQ(0x0409, version.GetLanguage());
    EXPECT_EQ(1200, version.GetCodePage());
    EXPECT_EQ("Corvalin Test Works", version.GetValue("CompanyName"));
    EXPECT_EQ("Nimbo Purgelet", version.GetValue("ProductName"));
    EXPECT_EQ("", version.GetValue("NoSuchKey"));
}

TEST(ModuleVersion, WithoutATranslationTableReadsCodePage1252) {
    cattest::TempFolder folder;
    const std::string copy = folder.Path() + "neutral.exe";
    ASSERT_TRUE(CopyFileA(SelfPath().c_str(), copy.c_str(), FALSE));
    std::string resource = VersionWithoutTranslation();
    HANDLE update = BeginUpdateResourceA(copy.c_str(), TRUE);
    ASSERT_TRUE(update != nullptr);
    ASSERT_TRUE(UpdateResourceA(update, MAKEINTRESOURCEA(16), MAKEINTRESOURCEA(1), MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL),
                                &resource[0], static_cast<DWORD>(resource.size())));
    ASSERT_TRUE(EndUpdateResourceA(update, FALSE));

    CModuleVersion version;
    ASSERT_TRUE(version.GetFileVersionInfo(copy.c_str()));
    EXPECT_EQ(0x00050006u, version.dwFileVersionMS);
    EXPECT_EQ(0, version.GetLanguage());
    EXPECT_EQ(1252, version.GetCodePage());
    EXPECT_EQ("Neutral Latin Works", version.GetValue("CompanyName"));
}

TEST(ModuleVersion, FilesWithoutAResourceGiveNothing) {
    cattest::TempFolder folder;
    const std::string text = folder.Path() + "plain.txt";
    ASSERT_TRUE(cattest::WriteWholeFile(text, "not an executable"));
    const std::string cases[] = {text, folder.Path() + "missing.exe", ""};
    for (const std::string& path : cases) {
        CModuleVersion version;
        EXPECT_FALSE(version.GetFileVersionInfo(path.c_str())) << path;
        EXPECT_EQ("", version.GetValue("CompanyName")) << path;
        EXPECT_EQ(0u, version.dwSignature) << path;
    }
    // A failed load after a good one forgets the old resource.
    CModuleVersion version;
    ASSERT_TRUE(version.GetFileVersionInfo(SelfPath().c_str()));
    EXPECT_FALSE(version.GetFileVersionInfo(text.c_str()));
    EXPECT_EQ(0u, version.dwFileVersionMS);
    EXPECT_EQ("", version.GetValue("CompanyName"));
}

}  // namespace
