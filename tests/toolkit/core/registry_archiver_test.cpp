// The registry archiver: layout of the stored stream (size, chunks, blocks, integrity
// and generator texts), round trips, damaged values each way, and the helpers.
#include <gtest/gtest.h>

#include "framework/framework.h"
#include "support/registry_sandbox.h"
#include "toolkit/core/registry_archiver.h"

#include <string>
#include <vector>

using testsupport::RegistrySandbox;

namespace {

class RegistryArchiverTest : public ::testing::Test {
protected:
    RegistrySandbox m_sandbox;
    std::string Key(const char* sub = "arch") const { return m_sandbox.Path() + "\\" + sub; }

    bool Save(const std::vector<BYTE>& data, const char* sub = "arch") {
        CMemFile file;
        if (!data.empty())
            file.Write(data.data(), (UINT)data.size());
        return CExtRegistryArchiver::SaveToRegistry(file, Key(sub).c_str(), HKEY_CURRENT_USER);
    }
    bool Load(std::vector<BYTE>& out, const char* sub = "arch", bool bThrow = false) {
        CMemFile file;
        file.Write("keep", 4);
        file.SeekToBegin();
        bool bOK = CExtRegistryArchiver::LoadFromRegistry(file, Key(sub).c_str(), HKEY_CURRENT_USER, bThrow);
        out.assign((size_t)file.GetLength(), 0);
        file.SeekToBegin();
        if (!out.empty())
            file.Read(out.data(), (UINT)out.size());
        return bOK;
    }
    DWORD ReadDword(const std::string& key, const char* name) {
        DWORD v = 0xDEADBEEF, cb = sizeof(v), type = 0;
        HKEY h = NULL;
        if (::RegOpenKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, KEY_READ, &h) == ERROR_SUCCESS) {
            ::RegQueryValueExA(h, name, NULL, &type, (LPBYTE)&v, &cb);
            ::RegCloseKey(h);
        }
        return v;
    }
    DWORD ValueSize(const std::string& key, const char* name) {
        DWORD cb = 0xFFFFFFFF;
        HKEY h = NULL;
        if (::RegOpenKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, KEY_READ, &h) == ERROR_SUCCESS) {
            if (::RegQueryValueExA(h, name, NULL, NULL, NULL, &cb) != ERROR_SUCCESS)
                cb = 0xFFFFFFFF;
            ::RegCloseKey(h);
        }
        return cb;
    }
    std::string ReadText(const std::string& key, const char* name) {
        char buf[128] = {0};
        if (!RegReadString(HKEY_CURRENT_USER, key.c_str(), name, buf, sizeof(buf)))
            return "<none>";
        return buf;
    }
};

std::vector<BYTE> Pattern(size_t n) {
    std::vector<BYTE> v(n);
    for (size_t i = 0; i < n; i++)
        v[i] = (BYTE)(i * 7 + 3);
    return v;
}

}  // namespace

TEST(RegistryIntegrityHash, LanesTakeTheBytesInTurn) {
    CExtRegistryIntegrityHash hash;
    EXPECT_STREQ((LPCTSTR)hash.GetText(), "00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00");
    hash.Update((const BYTE*)"abc", 3);
    EXPECT_EQ(hash.m_arrLanes[0], 0x61u);
    EXPECT_EQ(hash.m_arrLanes[1], 0x62u);
    EXPECT_EQ(hash.m_arrLanes[2], 0x63u);
    EXPECT_EQ(hash.m_arrLanes[3], 0u);
    EXPECT_STREQ((LPCTSTR)hash.GetText(), "00 00 00 61 00 00 00 62 00 00 00 63 00 00 00 00");

    // The ELF step folds the top nibble back in: lane 0 of 40 bytes of 0xFF.
    CExtRegistryIntegrityHash big;
    std::vector<BYTE> ff(40, 0xFF);
    big.Update(ff.data(), 40);
    DWORD h = 0;
    for (int i = 0; i < 10; i++) {
        h = (h << 4) + 0xFF;
        DWORD g = h & 0xF0000000;
        if (g) {
            h ^= g >> 24;
            h ^= g;
        }
    }
    EXPECT_EQ(big.m_arrLanes[0], h);
    EXPECT_EQ(big.GetText().GetLength(), 47);
}

TEST_F(RegistryArchiverTest, EmptyStream) {
    ASSERT_TRUE(Save({}));
    EXPECT_EQ(ReadDword(Key(), "data_size"), 0u);
    EXPECT_FALSE(RegistrySandbox::KeyExists(HKEY_CURRENT_USER, Key() + "\\block_0x00000000"));
    EXPECT_EQ(ReadText(Key(), "data_integrity"), "00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00");
    EXPECT_EQ(ReadText(Key(), "data_generator"), "Kestrix v. 2.5.4.0 registry archiver");
    std::vector<BYTE> out;
    EXPECT_TRUE(Load(out));
    EXPECT_EQ(std::string(out.begin(), out.end()), "keep") << "the file is left untouched";
}

TEST_F(RegistryArchiverTest, ChunksAndBlocks) {
    ASSERT_TRUE(Save(Pattern(17)));
    EXPECT_EQ(ReadDword(Key(), "data_size"), 17u);
    EXPECT_EQ(ValueSize(Key() + "\\block_0x00000000", "data_0x00000000"), 16u);
    EXPECT_EQ(ValueSize(Key() + "\\block_0x00000000", "data_0x00000001"), 1u);

    ASSERT_TRUE(Save(Pattern(2049), "big"));
    EXPECT_EQ(ValueSize(Key("big") + "\\block_0x00000000", "data_0x0000007F"), 16u);
    EXPECT_EQ(ValueSize(Key("big") + "\\block_0x00000001", "data_0x00000080"), 1u);
    EXPECT_EQ(ValueSize(Key("big") + "\\block_0x00000000", "data_0x00000080"), 0xFFFFFFFFu);
    std::vector<BYTE> out;
    ASSERT_TRUE(Load(out, "big"));
    EXPECT_EQ(out, Pattern(2049));
}

TEST_F(RegistryArchiverTest, SavingAgainRemovesOldChunks) {
    ASSERT_TRUE(Save(Pattern(40)));
    ASSERT_TRUE(Save(Pattern(5)));
    EXPECT_EQ(ValueSize(Key() + "\\block_0x00000000", "data_0x00000001"), 0xFFFFFFFFu);
    std::vector<BYTE> out;
    ASSERT_TRUE(Load(out));
    EXPECT_EQ(out, Pattern(5));
}

TEST_F(RegistryArchiverTest, DamagedDataIsRefused) {
    struct Damage {
        const char* what;
        void (*apply)(const std::string& key);
    };
    const Damage damages[] = {
        {"a changed byte",
         [](const std::string& k) {
             std::vector<BYTE> v = Pattern(16);
             v[5] ^= 0x40;
             RegistrySandbox::SetBinary(HKEY_CURRENT_USER, k + "\\block_0x00000000", "data_0x00000000", v.data(), 16);
         }},
        {"a changed integrity text",
         [](const std::string& k) {
             RegistrySandbox::SetString(HKEY_CURRENT_USER, k, "data_integrity",
                                        "00 00 00 61 00 00 00 62 00 00 00 63 00 00 00 00");
         }},
        {"integrity text of the wrong type",
         [](const std::string& k) { RegistrySandbox::SetDword(HKEY_CURRENT_USER, k, "data_integrity", 1); }},
        {"a missing chunk",
         [](const std::string& k) { RegDeleteKeyOrValue(HKEY_CURRENT_USER, (k + "\\block_0x00000000").c_str(),
                                                        "data_0x00000001"); }},
        {"a chunk of the wrong type",
         [](const std::string& k) {
             RegistrySandbox::SetString(HKEY_CURRENT_USER, k + "\\block_0x00000000", "data_0x00000001", "xyz");
         }},
        {"a short chunk",
         [](const std::string& k) {
             BYTE b[3] = {1, 2, 3};
             RegistrySandbox::SetBinary(HKEY_CURRENT_USER, k + "\\block_0x00000000", "data_0x00000000", b, 3);
         }},
        {"a size larger than the chunks",
         [](const std::string& k) { RegistrySandbox::SetDword(HKEY_CURRENT_USER, k, "data_size", 0x7FFFFFFF); }},
        {"a size smaller than the chunks",
         [](const std::string& k) { RegistrySandbox::SetDword(HKEY_CURRENT_USER, k, "data_size", 18); }},
        {"a size of the wrong type",
         [](const std::string& k) {
             RegistrySandbox::SetBinary(HKEY_CURRENT_USER, k, "data_size", "\x05\0\0\0\0\0\0\0", 8);
         }},
        {"a size that is not a DWORD",
         [](const std::string& k) { RegistrySandbox::SetString(HKEY_CURRENT_USER, k, "data_size", "20"); }},
    };
    for (const Damage& d : damages) {
        ASSERT_TRUE(Save(Pattern(20))) << d.what;
        d.apply(Key());
        std::vector<BYTE> out;
        EXPECT_FALSE(Load(out)) << d.what;
        bool bThrown = false;
        try {
            Load(out, "arch", true);
        } catch (CUserException* e) {
            bThrown = true;
            e->Delete();
        }
        EXPECT_TRUE(bThrown) << d.what << ": the user exception with the flag";
    }
    std::vector<BYTE> out;
    EXPECT_FALSE(Load(out, "never-saved"));
    CMemFile file;
    EXPECT_FALSE(CExtRegistryArchiver::SaveToRegistry(file, NULL, HKEY_CURRENT_USER));
    EXPECT_FALSE(CExtRegistryArchiver::LoadFromRegistry(file, NULL, HKEY_CURRENT_USER));
}

TEST_F(RegistryArchiverTest, Helpers) {
    std::string k = Key("helpers");
    ASSERT_TRUE(RegistrySandbox::SetString(HKEY_CURRENT_USER, k, "text", "hello"));
    ASSERT_TRUE(RegistrySandbox::SetBinary(HKEY_CURRENT_USER, k, "bin", "\x01\x02\x03", 3));
    ASSERT_TRUE(RegistrySandbox::SetDword(HKEY_CURRENT_USER, k + "\\a\\b", "v", 1));
    ASSERT_TRUE(RegistrySandbox::SetDword(HKEY_CURRENT_USER, k + "\\c", "v", 1));

    char buf[16] = {0};
    EXPECT_TRUE(RegReadString(HKEY_CURRENT_USER, k.c_str(), "text", buf, sizeof(buf)));
    EXPECT_STREQ(buf, "hello");
    EXPECT_FALSE(RegReadString(HKEY_CURRENT_USER, k.c_str(), "text", buf, 3)) << "does not fit";
    EXPECT_FALSE(RegReadString(HKEY_CURRENT_USER, k.c_str(), "bin", buf, sizeof(buf))) << "wrong type";
    BYTE bin[8] = {0};
    EXPECT_TRUE(RegReadBinary(HKEY_CURRENT_USER, k.c_str(), "bin", bin, sizeof(bin)));
    EXPECT_EQ(bin[2], 3);
    EXPECT_FALSE(RegReadBinary(HKEY_CURRENT_USER, k.c_str(), "text", bin, sizeof(bin)));
    EXPECT_FALSE(RegWriteString(NULL, "x", "y"));

    EXPECT_TRUE(RegDeleteKeyOrValue(HKEY_CURRENT_USER, k.c_str(), "text"));
    EXPECT_FALSE(RegReadString(HKEY_CURRENT_USER, k.c_str(), "text", buf, sizeof(buf)));
    EXPECT_TRUE(RegDeleteKeyOrValue(HKEY_CURRENT_USER, k.c_str(), NULL));
    EXPECT_FALSE(RegistrySandbox::KeyExists(HKEY_CURRENT_USER, k));
    EXPECT_FALSE(RegDeleteKeyOrValue(HKEY_CURRENT_USER, k.c_str(), NULL)) << "already gone";
}
