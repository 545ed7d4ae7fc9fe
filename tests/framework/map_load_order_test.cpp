// Stored maps whose keys share buckets: a map loads whenever its keys differ in their
// hash values, whatever the order of its entries; only more keys of one full hash value
// than the load allows are refused, after work bounded by that limit.
#include <gtest/gtest.h>
#include "framework/framework.h"
#include "framework/collections.h"
#include "support/exception_probe.h"
#include "support/archive_bytes.h"

#include <string>
#include <vector>

namespace {

// A key whose hash value the test chooses and whose comparisons it counts.
struct CountedKey {
    DWORD nHash;
    DWORD nId;
};
long g_nCompares = 0;
inline BOOL AFXAPI CompareElements(const CountedKey* a, const CountedKey* b) {
    g_nCompares++;
    return a->nHash == b->nHash && a->nId == b->nId;
}

// Loads bytes into a map through its Serialize: the cause of the archive exception, or -1.
template <class MAP> int LoadInto(MAP& map, const std::vector<BYTE>& bytes) {
    return ThrownCause<CArchiveException>([&] {
        CMemFile file(const_cast<BYTE*>(bytes.data()), (UINT)bytes.size());
        CArchive ar(&file, CArchive::load);
        map.Serialize(ar);
    });
}

std::vector<std::string> OneHashKeys(int nBlocks) {  // "ab" and "bA" hash alike
    std::vector<std::string> keys(1);
    for (int n = 0; n < nBlocks; n++) {
        std::vector<std::string> next;
        for (const std::string& k : keys)
            next.push_back(k + "ab"), next.push_back(k + "bA");
        keys.swap(next);
    }
    return keys;
}

std::string ValueOf(const std::string& key) { return "v" + key; }

}  // namespace

template <> inline UINT AFXAPI HashKey<const CountedKey&>(const CountedKey& key) { return key.nHash; }

// 64 keys of one hash value, then keys of other hash values aimed at that bucket at each
// table size the load passes, or many plain keys after or before them: each map loads
// whole.
TEST(MapLoadOrder, KeysOfOtherHashesBesideAFullBucketLoad) {
    const std::vector<std::string> group = OneHashKeys(6);
    const UINT nGroupHash = HashKey<LPCTSTR>(group[0].c_str());
    std::vector<std::string> aimed, plain;
    for (UINT nSize : {17u, 69u, 277u})
        for (int i = 0;; i++) {
            const std::string k = "x" + std::to_string(i);
            const UINT h = HashKey<LPCTSTR>(k.c_str());
            if (h != nGroupHash && h % nSize == nGroupHash % nSize) {
                aimed.push_back(k);
                break;
            }
        }
    for (int i = 0; i < 100000; i++)
        plain.push_back("key" + std::to_string(i));
    struct Case {
        const char* name;
        std::vector<const std::vector<std::string>*> parts;
    } cases[] = {
        {"group, then keys aimed at 17, 69 and 277", {&group, &aimed}},
        {"group, then 100,000 plain keys", {&group, &plain}},
        {"100,000 plain keys, then group", {&plain, &group}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<std::string> keys;
        for (const auto* part : c.parts)
            keys.insert(keys.end(), part->begin(), part->end());
        const std::vector<BYTE> bytes = testsupport::StoredBytes([&](CArchive& ar) {
            ar.WriteCount(keys.size());
            for (const std::string& k : keys)
                ar << CString(k.c_str()) << CString(ValueOf(k).c_str());
        });
        CMapStringToString loaded;
        ASSERT_EQ(-1, LoadInto(loaded, bytes)) << "loads without an exception";
        ASSERT_EQ((INT_PTR)keys.size(), loaded.GetCount());
        int nWrong = 0;
        for (const std::string& k : keys) {
            CString value;
            if (!loaded.Lookup(k.c_str(), value) || value != ValueOf(k).c_str())
                nWrong++;
        }
        EXPECT_EQ(0, nWrong);
    }
}

// 67 DWORD keys of distinct hash values that agree modulo 17, 69 and 277 load whole.
TEST(MapLoadOrder, DwordKeysAgreeingModuloEveryTableSize) {
    std::vector<DWORD> keys;
    for (DWORD i = 0; i < 67; i++)
        keys.push_back((5 + i * 17 * 69 * 277) << 4);
    const std::vector<BYTE> bytes = testsupport::StoredBytes([&](CArchive& ar) {
        ar.WriteCount(keys.size());
        for (DWORD k : keys)
            ar << k << (DWORD)(k ^ 0x5A5A5A5A);
    });
    CMap<DWORD, DWORD, DWORD, DWORD> loaded;
    ASSERT_EQ(-1, LoadInto(loaded, bytes)) << "loads without an exception";
    ASSERT_EQ(67, loaded.GetCount());
    for (DWORD k : keys) {
        DWORD value = 0;
        EXPECT_TRUE(loaded.Lookup(k, value)) << k;
        EXPECT_EQ(k ^ 0x5A5A5A5A, value) << k;
    }
}

// More keys of one hash value than the load allows are refused after comparing each with
// at most the allowed number of others, not with all 70,000.
TEST(MapLoadOrder, ManyKeysOfOneHashAreRefusedAfterBoundedWork) {
    const std::vector<BYTE> bytes = testsupport::StoredBytes([&](CArchive& ar) {
        ar.WriteCount(70000);
        for (DWORD i = 0; i < 70000; i++) {
            CountedKey k = {0x1234, i};
            ar.Write(&k, sizeof(k));
            ar << i;
        }
    });
    g_nCompares = 0;
    CMap<CountedKey, const CountedKey&, DWORD, DWORD> loaded;
    EXPECT_EQ(CArchiveException::genericException, LoadInto(loaded, bytes));
    EXPECT_LE(g_nCompares, 129L * 129L);
}
