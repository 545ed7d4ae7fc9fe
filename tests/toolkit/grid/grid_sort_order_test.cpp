#include <gtest/gtest.h>
#include <vector>
#include "support/archive_bytes.h"
#include "toolkit/grid/grid_sort_order.h"

typedef CExtGridDataSortOrder SO;
typedef std::vector<BYTE> Bytes;

namespace {

SO Order(std::initializer_list<std::pair<LONG, bool>> keys) {
    SO so;
    for (const auto& k : keys) {
        SO::ITEM_INFO item(k.first, k.second);
        so.m_arrItems.Add(item);
    }
    return so;
}

// Keys as "index+" / "index-" for readable failures.
std::string Keys(const SO& so) {
    std::string s;
    for (INT_PTR i = 0; i < so.m_arrItems.GetSize(); i++) {
        if (!s.empty()) s += ' ';
        s += std::to_string(so.m_arrItems[i].m_nRowColNo);
        s += so.m_arrItems[i].m_bAscending ? '+' : '-';
    }
    return s;
}

Bytes Store(SO& so) {
    return testsupport::StoredBytes([&](CArchive& ar) { so.Serialize(ar); });
}

// Loads so from bytes; answers the archive exception's cause, or -1 when none.
int Load(SO& so, const Bytes& bytes) {
    CMemFile file;
    if (!bytes.empty()) file.Write(bytes.data(), (UINT)bytes.size());
    file.SeekToBegin();
    CArchive ar(&file, CArchive::load);
    int nCause = -1;
    try {
        so.Serialize(ar);
    } catch (CArchiveException* e) {
        nCause = e->m_cause;
        e->Delete();
    }
    return nCause;
}

}  // namespace

TEST(GridSortOrder, KeyDefaultsClassRecordAndEmptiness) {
    SO::ITEM_INFO item;
    EXPECT_EQ(-1, item.m_nRowColNo);
    EXPECT_TRUE(item.m_bAscending);
    EXPECT_STREQ("CExtGridDataSortOrder", RUNTIME_CLASS(SO)->m_lpszClassName);
    CObject* pObj = RUNTIME_CLASS(SO)->CreateObject();
    ASSERT_NE(nullptr, pObj);
    EXPECT_TRUE(pObj->IsKindOf(RUNTIME_CLASS(SO)));
    EXPECT_TRUE(static_cast<SO*>(pObj)->IsEmpty());
    delete pObj;

    SO so = Order({{3, true}, {1, false}});
    EXPECT_FALSE(so.IsEmpty());
    so.Empty();
    EXPECT_TRUE(so.IsEmpty());
}

TEST(GridSortOrder, FindEqualityCopyAndDuplicates) {
    SO so = Order({{4, true}, {2, false}, {4, false}});
    EXPECT_EQ(0, so.FindIndex(4));
    EXPECT_EQ(1, so.FindIndex(2));
    EXPECT_EQ(-1, so.FindIndex(3));
    // The same index in opposite directions is allowed.
    EXPECT_TRUE(so.HasNoDuplicates());
    EXPECT_TRUE(SO().HasNoDuplicates());
    EXPECT_TRUE(Order({{1, true}}).HasNoDuplicates());
    EXPECT_FALSE(Order({{1, true}, {2, true}, {1, true}}).HasNoDuplicates());

    SO copy(so);
    EXPECT_EQ("4+ 2- 4-", Keys(copy));
    EXPECT_TRUE(copy == so);
    SO other = Order({{9, true}});
    other = so;
    EXPECT_EQ("4+ 2- 4-", Keys(other));
    other.m_arrItems[1].m_bAscending = true;
    EXPECT_TRUE(other != so);
    EXPECT_FALSE(Order({{4, true}, {2, false}}) == so);
    EXPECT_TRUE(SO() == SO());
}

TEST(GridSortOrder, IndicesFollowInsertRemoveMoveAndSwap) {
    struct Case {
        const char* name;
        SO so;
        std::function<void(SO&)> change;
        const char* expected;
    } cases[] = {
        {"insert 2 at 1", Order({{0, true}, {1, false}, {3, true}}),
         [](SO& s) { s.AdjustForInsertRemove(1, 2, true); }, "0+ 3- 5+"},
        {"remove the keyed column", Order({{1, true}, {3, false}}),
         [](SO& s) { s.AdjustForInsertRemove(1, 1, false); }, "2-"},
        {"remove an earlier column", Order({{5, false}, {0, true}}),
         [](SO& s) { s.AdjustForInsertRemove(1, 2, false); }, "3- 0+"},
        {"remove a range", Order({{2, true}, {3, true}, {4, false}, {6, true}}),
         [](SO& s) { s.AdjustForInsertRemove(2, 3, false); }, "3+"},
        {"count 0 changes nothing", Order({{2, true}}),
         [](SO& s) { s.AdjustForInsertRemove(0, 0, false); }, "2+"},
        {"move 2 before 0", Order({{0, true}, {2, false}, {3, true}}),
         [](SO& s) { s.AdjustForMove(2, 0); }, "1+ 0- 3+"},
        {"move 0 before 3", Order({{0, true}, {1, false}, {2, true}, {3, true}}),
         [](SO& s) { s.AdjustForMove(0, 3); }, "2+ 0- 1+ 3+"},
        {"move 2 before 3 is no move", Order({{2, true}, {0, false}}),
         [](SO& s) { s.AdjustForMove(2, 3); }, "2+ 0-"},
        {"swap 1 and 4", Order({{4, false}, {1, true}, {2, true}}),
         [](SO& s) { s.AdjustForSwap(1, 4); }, "1- 4+ 2+"},
    };
    for (auto& c : cases) {
        c.change(c.so);
        EXPECT_EQ(c.expected, Keys(c.so)) << c.name;
    }
}

TEST(GridSortOrder, ArchiveBytesAndRoundTrip) {
    SO empty;
    EXPECT_EQ((Bytes{0, 0, 0, 0}), Store(empty));
    SO desc = Order({{7, false}});
    EXPECT_EQ((Bytes{1, 0, 0, 0, 7, 0, 0, 0, 0}), Store(desc));
    SO asc = Order({{7, true}});
    EXPECT_EQ((Bytes{1, 0, 0, 0, 7, 0, 0, 0, 1}), Store(asc));

    SO two = Order({{-2, true}, {0x01020304, false}});
    Bytes bytes = Store(two);
    EXPECT_EQ((Bytes{2, 0, 0, 0, 0xFE, 0xFF, 0xFF, 0xFF, 1, 4, 3, 2, 1, 0}), bytes);

    // Loading replaces the keys already there.
    SO loaded = Order({{9, true}, {8, true}, {7, true}});
    EXPECT_EQ(-1, Load(loaded, bytes));
    EXPECT_EQ("-2+ 16909060-", Keys(loaded));
    EXPECT_EQ(-1, Load(loaded, Bytes{0, 0, 0, 0}));
    EXPECT_TRUE(loaded.IsEmpty());

    // Only bit 0 of the direction byte counts.
    EXPECT_EQ(-1, Load(loaded, Bytes{2, 0, 0, 0, 5, 0, 0, 0, 0xFE, 6, 0, 0, 0, 0x03}));
    EXPECT_EQ("5- 6+", Keys(loaded));
}

TEST(GridSortOrder, DamagedArchivesEndWithEndOfFile) {
    struct Case {
        const char* name;
        Bytes bytes;
        const char* kept;
    } cases[] = {
        {"nothing at all", {}, ""},
        {"short count", {1, 0}, ""},
        {"key cut in its index", {2, 0, 0, 0, 3, 0, 0, 0, 1, 4, 0}, "3+"},
        {"key cut before its direction", {1, 0, 0, 0, 3, 0, 0, 0}, ""},
        {"huge count", {0xFF, 0xFF, 0xFF, 0xFF, 3, 0, 0, 0, 0}, "3-"},
    };
    for (const auto& c : cases) {
        SO so = Order({{11, true}});
        EXPECT_EQ(CArchiveException::endOfFile, Load(so, c.bytes)) << c.name;
        EXPECT_EQ(c.kept, Keys(so)) << c.name;
    }
}
