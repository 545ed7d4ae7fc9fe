// Crafted archives against the collections: counts the remaining bytes cannot back, and
// collections nested inside one another each announcing a huge count.
#include <gtest/gtest.h>
#include "framework/framework.h"
#include "framework/collections.h"
#include "framework/imagelist.h"
#include "support/exception_probe.h"
#include "support/archive_bytes.h"

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

namespace {

void PutWord(std::vector<BYTE>& v, WORD w) {
    v.push_back((BYTE)w);
    v.push_back((BYTE)(w >> 8));
}
void PutCount(std::vector<BYTE>& v, DWORD n) {
    PutWord(v, 0xFFFF);
    for (int i = 0; i < 4; i++) v.push_back((BYTE)(n >> (8 * i)));
}

// Loads bytes into a fresh collection through its Serialize.
template <class C>
int LoadCause(const std::vector<BYTE>& bytes) {
    return ThrownCause<CArchiveException>([&] {
        CMemFile file(const_cast<BYTE*>(bytes.data()), (UINT)bytes.size());
        CArchive ar(&file, CArchive::load);
        C c;
        c.Serialize(ar);
    });
}

// A count followed by nBody bytes of zeros: nCount elements of the given smallest size.
std::vector<BYTE> CountAndBody(DWORD nCount, size_t nBody) {
    std::vector<BYTE> v;
    PutCount(v, nCount);
    v.resize(v.size() + nBody, 0);
    return v;
}

struct Block {
    BYTE bytes[0x10000];
};
typedef CArray<Block, const Block&> CBlockArray;

}  // namespace

// Every element takes at least its smallest stored size: a count one above what the
// remaining bytes can hold is refused, the exact fit loads.
TEST(HostileArchive, CountsAgainstRemainingBytes) {
    struct Case {
        const char* name;
        std::function<int(const std::vector<BYTE>&)> load;
        size_t nMinSize;
    } cases[] = {
        {"CDWordArray", LoadCause<CDWordArray>, 4},
        {"CWordArray", LoadCause<CWordArray>, 2},
        {"CStringArray", LoadCause<CStringArray>, 1},
        {"CStringList", LoadCause<CStringList>, 1},
        {"CObArray", LoadCause<CObArray>, 2},
        {"CMapStringToString", LoadCause<CMapStringToString>, 2},
        {"CMapWordToOb", LoadCause<CMapWordToOb>, 4},
        {"CBlockArray", LoadCause<CBlockArray>, sizeof(Block)},
    };
    const DWORD nCount = 100;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.load(CountAndBody(nCount, nCount * c.nMinSize - 1)), CArchiveException::endOfFile);
        EXPECT_EQ(c.load(CountAndBody(0xFFFFFFFF, 64)), CArchiveException::endOfFile);
        // As many elements as bytes: too few for anything but single bytes.
        EXPECT_EQ(c.load(CountAndBody(40000, 40000)), c.nMinSize == 1 ? -1 : CArchiveException::endOfFile);
        if (c.nMinSize == 1 || std::string(c.name) == "CDWordArray") {  // zero keys collapse in a map
            EXPECT_EQ(c.load(CountAndBody(nCount, nCount * c.nMinSize)), -1);
        }
    }
}

// Arrays nested nearly to the archive's depth limit, each announcing as many elements as
// the whole file could hold: allocating each count up front would take gigabytes.
TEST(HostileArchive, NestedCountsDoNotMultiplyAllocations) {
    const int nLevels = CArchive::nMaxObjectDepth - 100;
    const DWORD nPadding = 4 * 1024 * 1024;
    std::vector<BYTE> bytes = testsupport::StoredBytes([](CArchive& ar) { ar.WriteClass(RUNTIME_CLASS(CObArray)); });
    std::vector<BYTE> file;
    PutCount(file, nPadding / 2);  // the outer array's own count
    for (int i = 0; i < nLevels; i++) {
        if (i == 0)
            file.insert(file.end(), bytes.begin(), bytes.end());  // the class record
        else
            PutWord(file, 0x8001);  // the class again, by its index
        PutCount(file, nPadding / 2);
    }
    file.resize(file.size() + nPadding, 0);  // NULL objects, enough for one level only
    EXPECT_EQ(LoadCause<CObArray>(file), CArchiveException::endOfFile);
}

// Image-list streams whose counts and sizes disagree: each is refused with the archive
// exception before the platform's reader could index past its bitmaps.
TEST(HostileArchive, ImageListStreamsAreCheckedFirst) {
    CImageList list;
    ASSERT_TRUE(list.Create(16, 16, ILC_COLOR32 | ILC_MASK, 4, 4));
    HDC hdc = ::GetDC(NULL);
    HBITMAP hbm = ::CreateCompatibleBitmap(hdc, 16, 16);
    ::ReleaseDC(NULL, hdc);
    for (int i = 0; i < 3; i++) ::ImageList_Add(list.GetSafeHandle(), hbm, NULL);
    ::DeleteObject(hbm);
    std::vector<BYTE> good = testsupport::StoredBytes([&](CArchive& ar) { list.Write(&ar); });
    ASSERT_GT(good.size(), 28u + 54u);
    const size_t nImage = 28 + 14;  // the image's info header
    auto patched = [&](size_t at, std::vector<BYTE> with) {
        std::vector<BYTE> v = good;
        for (size_t i = 0; i < with.size(); i++) v[at + i] = with[i];
        return v;
    };
    auto cut = [&](size_t n) { return std::vector<BYTE>(good.begin(), good.begin() + n); };
    struct Case {
        const char* name;
        std::vector<BYTE> bytes;
        int nCause;  // -1: loads
    } cases[] = {
        {"as written", good, -1},
        {"more images than slots", patched(4, {0x09, 0x00}), CArchiveException::badSchema},
        {"slots beyond the bitmap", patched(6, {0xFF, 0xFF}), CArchiveException::badSchema},
        {"huge grow count", patched(8, {0xFF, 0xFF}), CArchiveException::badSchema},
        {"cell wider than the bitmap", patched(10, {0x40, 0x00}), CArchiveException::badSchema},
        {"cell height not dividing it", patched(12, {0x0F, 0x00}), CArchiveException::badSchema},
        {"overlay past the images", patched(20, {0x05, 0x00}), CArchiveException::badSchema},
        {"bitmap taller than sent", patched(nImage + 8, {0x00, 0x40}), CArchiveException::endOfFile},
        {"bitmap 0x7FFFFFFF wide", patched(nImage + 4, {0xFF, 0xFF, 0xFF, 0x7F}), CArchiveException::badSchema},
        {"mask of another size", patched(good.size() - 256 - 8 - 40 + 4, {0x20}), CArchiveException::badSchema},
        {"cut in the mask", cut(good.size() - 10), CArchiveException::endOfFile},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CImageList back;
        int nCause = ThrownCause<CArchiveException>([&] {
            CMemFile file(const_cast<BYTE*>(c.bytes.data()), (UINT)c.bytes.size());
            CArchive ar(&file, CArchive::load);
            EXPECT_TRUE(back.Read(&ar));
        });
        EXPECT_EQ(nCause, c.nCause);
        EXPECT_EQ(back.GetSafeHandle() != NULL, c.nCause < 0);
        if (c.nCause < 0) {
            EXPECT_EQ(::ImageList_GetImageCount(back.GetSafeHandle()), 3);
        }
    }
}

// A large map from an archive grows its table while loading and keeps every entry.
TEST(HostileArchive, LargeMapLoadsWhole) {
    CMapStringToString stored;
    for (int i = 0; i < 5000; i++) stored.SetAt(std::to_string(i).c_str(), std::to_string(i * 7).c_str());
    std::vector<BYTE> bytes = testsupport::StoredBytes([&](CArchive& ar) { stored.Serialize(ar); });
    CMemFile file(bytes.data(), (UINT)bytes.size());
    CArchive ar(&file, CArchive::load);
    CMapStringToString loaded;
    loaded.Serialize(ar);
    ASSERT_EQ(loaded.GetCount(), 5000);
    EXPECT_GT(loaded.GetHashTableSize(), 1000u);
    for (int i = 0; i < 5000; i += 499) {
        CString value;
        EXPECT_TRUE(loaded.Lookup(std::to_string(i).c_str(), value)) << i;
        EXPECT_STREQ(value, std::to_string(i * 7).c_str());
    }
}

// Keys of one hash value ("ab" and "bA" blocks in any order) are refused, not compared
// with one another all; keys of distinct hash values aimed at one bucket of the table a
// load of 1109 to 4436 entries has are spread over the table.
TEST(HostileArchive, KeysCrowdingOneChain) {
    auto stored = [](const std::vector<std::string>& keys) {
        return testsupport::StoredBytes([&](CArchive& ar) {
            ar.WriteCount(keys.size());
            for (const std::string& k : keys) ar << CString(k.c_str()) << CString("v");
        });
    };
    std::vector<std::string> same(1), aimed;
    for (int nBlock = 0; nBlock < 11; nBlock++) {
        std::vector<std::string> next;
        for (const std::string& k : same) next.push_back(k + "ab"), next.push_back(k + "bA");
        same.swap(next);
    }
    EXPECT_EQ(CArchiveException::genericException, LoadCause<CMapStringToString>(stored(same)));
    for (int i = 0; aimed.size() < 1200; i++)
        if (HashKey<LPCTSTR>(("k" + std::to_string(i)).c_str()) % 1109 == 0) aimed.push_back("k" + std::to_string(i));
    const std::vector<BYTE> bytes = stored(aimed);
    CMemFile file(const_cast<BYTE*>(bytes.data()), (UINT)bytes.size());
    CArchive ar(&file, CArchive::load);
    struct Probe : CMapStringToString {
        UINT Bucket(LPCTSTR key) const { return BucketOf(HashKey<LPCTSTR>(key)); }
    } loaded;
    loaded.Serialize(ar);
    ASSERT_EQ(1200, loaded.GetCount());
    std::vector<int> chains(loaded.GetHashTableSize());
    for (const std::string& k : aimed)
        chains[loaded.Bucket(k.c_str())]++;
    EXPECT_LE(*std::max_element(chains.begin(), chains.end()), 64);
}
