// Collections: growth rule, insertion and removal with counts, the invalid-argument
// exception on bad indexes, element lifetimes, list positions and map iteration.
#include <gtest/gtest.h>
#include "framework/collections.h"
#include "support/exception_probe.h"
#include <cstring>
#include <functional>
#include <vector>

namespace {

// Counts live instances, so tests can tell constructed from destroyed elements.
struct Tracked {
    static int s_live;
    int value;
    Tracked() : value(-1) { s_live++; }
    Tracked(const Tracked& o) : value(o.value) { s_live++; }
    Tracked& operator=(const Tracked& o) {
        value = o.value;
        return *this;
    }
    ~Tracked() { s_live--; }
    bool operator==(const Tracked& o) const { return value == o.value; }
};
int Tracked::s_live = 0;

Tracked T(int v) {
    Tracked t;
    t.value = v;
    return t;
}

std::vector<int> Values(const CArray<int, int>& a) {
    std::vector<int> v;
    for (INT_PTR i = 0; i < a.GetSize(); i++) v.push_back(a[i]);
    return v;
}

}  // namespace

TEST(CArrayTest, GrowthFollowsGrowByAndTheDefaultRule) {
    CArray<int, int> a;
    // Default grow-by: a first allocation of exactly the size, then an eighth of the
    // size, at least 4 and at most 1024.
    a.SetSize(10);
    EXPECT_EQ(10, a.GetSize());
    a.Add(1);
    EXPECT_EQ(11, a.GetSize());
    EXPECT_EQ(11, a.GetUpperBound() + 1);
    int* pData = a.GetData();
    for (int i = 0; i < 3; i++) a.Add(i);  // 14 = 10 + 4: still the same block
    EXPECT_EQ(pData, a.GetData());
    a.Add(99);  // 15 needs a new block
    EXPECT_EQ(15, a.GetSize());
    for (INT_PTR i = 0; i < 10; i++) EXPECT_EQ(0, a[i]) << "new elements are zeroed, index " << i;
    EXPECT_EQ(99, a[14]);

    // An explicit grow-by reserves that many at once.
    CArray<int, int> b;
    b.SetSize(0, 32);
    b.Add(7);
    int* p = b.GetData();
    for (int i = 0; i < 31; i++) b.Add(i);
    EXPECT_EQ(p, b.GetData()) << "32 elements fit the first block";
    b.Add(5);
    EXPECT_EQ(33, b.GetCount());
    EXPECT_EQ(7, b[0]);
    EXPECT_EQ(5, b[32]);

    b.FreeExtra();
    EXPECT_EQ(33, b.GetSize());
    EXPECT_EQ(5, b.GetAt(32));
    b.SetSize(2);
    EXPECT_EQ((std::vector<int>{7, 0}), Values(b));
    b.RemoveAll();
    EXPECT_TRUE(b.IsEmpty());
    EXPECT_EQ(nullptr, b.GetData());
}

TEST(CArrayTest, InsertAndRemoveWithCounts) {
    CArray<int, int> a;
    for (int i = 0; i < 5; i++) a.Add(i);
    a.InsertAt(2, 9, 3);
    EXPECT_EQ((std::vector<int>{0, 1, 9, 9, 9, 2, 3, 4}), Values(a));
    a.RemoveAt(1, 4);
    EXPECT_EQ((std::vector<int>{0, 2, 3, 4}), Values(a));
    a.InsertAt(6, 7);  // past the end: the gap is filled with zeros
    EXPECT_EQ((std::vector<int>{0, 2, 3, 4, 0, 0, 7}), Values(a));
    a.RemoveAt(6);
    a.RemoveAt(0, 0);
    EXPECT_EQ((std::vector<int>{0, 2, 3, 4, 0, 0}), Values(a));

    CArray<int, int> other;
    other.Add(100);
    other.Add(101);
    a.InsertAt(1, &other);
    EXPECT_EQ((std::vector<int>{0, 100, 101, 2, 3, 4, 0, 0}), Values(a));
    a.InsertAt(0, &a);  // itself: inserted from a copy
    EXPECT_EQ(16, a.GetSize());
    EXPECT_EQ(101, a[2]);
    EXPECT_EQ(101, a[10]);

    CArray<int, int> c;
    c.Copy(other);
    EXPECT_EQ(2, c.Append(other)) << "answers the old size";
    EXPECT_EQ((std::vector<int>{100, 101, 100, 101}), Values(c));
    c.SetAtGrow(6, 5);
    EXPECT_EQ((std::vector<int>{100, 101, 100, 101, 0, 0, 5}), Values(c));
    c.ElementAt(0) = 1;
    c.SetAt(1, 2);
    EXPECT_EQ(1, c.GetAt(0));
    EXPECT_EQ(2, c[1]);
}

TEST(CArrayTest, BadIndexesThrowInvalidArgument) {
    CArray<int, int> a;
    a.Add(1);
    a.Add(2);
    const CArray<int, int>& ca = a;
    struct Case {
        const char* name;
        std::function<void()> f;
    } cases[] = {
        {"GetAt(-1)", [&] { (void)a.GetAt(-1); }},
        {"GetAt(size)", [&] { (void)a.GetAt(2); }},
        {"const operator[](size)", [&] { (void)ca[2]; }},
        {"operator[](-1)", [&] { a[-1] = 0; }},
        {"ElementAt(5)", [&] { a.ElementAt(5) = 0; }},
        {"SetAt(2)", [&] { a.SetAt(2, 0); }},
        {"SetAtGrow(-1)", [&] { a.SetAtGrow(-1, 0); }},
        {"SetSize(-1)", [&] { a.SetSize(-1); }},
        {"InsertAt(-1)", [&] { a.InsertAt(-1, 0); }},
        {"InsertAt count 0", [&] { a.InsertAt(0, 0, 0); }},
        {"RemoveAt(2)", [&] { a.RemoveAt(2); }},
        {"RemoveAt(1, 2)", [&] { a.RemoveAt(1, 2); }},
        {"RemoveAt(0, -1)", [&] { a.RemoveAt(0, -1); }},
        {"InsertAt(NULL array)", [&] { a.InsertAt(0, (CArray<int, int>*)NULL); }},
        {"Append(self)", [&] { a.Append(a); }},
    };
    for (auto& c : cases) EXPECT_TRUE(Throws<CInvalidArgException>(c.f)) << c.name;
    EXPECT_EQ(2, a.GetSize());
    EXPECT_EQ(1, a[0]);
    EXPECT_EQ(2, a[1]);
}

TEST(CArrayTest, ElementsAreConstructedAndDestroyed) {
    Tracked::s_live = 0;
    {
        CArray<Tracked, const Tracked&> a;
        a.SetSize(3, 2);
        EXPECT_EQ(3, Tracked::s_live);
        EXPECT_EQ(-1, a[0].value) << "default constructed";
        a.Add(T(5));
        a.InsertAt(1, T(7), 2);
        EXPECT_EQ(6, Tracked::s_live);
        EXPECT_EQ(7, a[1].value);
        EXPECT_EQ(7, a[2].value);
        EXPECT_EQ(5, a[5].value);
        a.RemoveAt(0, 3);
        EXPECT_EQ(3, Tracked::s_live);
        EXPECT_EQ(5, a[2].value);
        // Adding an element of the array itself while it reallocates.
        a.FreeExtra();
        a.Add(a[2]);
        EXPECT_EQ(5, a[3].value);
        EXPECT_EQ(4, Tracked::s_live);
    }
    EXPECT_EQ(0, Tracked::s_live);

    CStringArray s;
    s.Add("one");
    s.Add(CString("two"));
    for (int i = 0; i < 100; i++) s.Add(s[0]);  // self-references across reallocations
    s.InsertAt(1, s[1], 2);
    EXPECT_EQ(104, s.GetSize());
    EXPECT_STREQ("two", s[1]);
    EXPECT_STREQ("two", s[3]);
    EXPECT_STREQ("one", s[103]);
    s.RemoveAt(0, 100);
    EXPECT_EQ(4, s.GetSize());
    EXPECT_STREQ("one", s[0]);
}

TEST(CTypedPtrArrayTest, WrapsPointerArrays) {
    int x = 1, y = 2;
    CTypedPtrArray<CPtrArray, int*> a;
    a.Add(&x);
    a.Add(&y);
    EXPECT_EQ(&y, a[1]);
    EXPECT_EQ(2, *a.GetAt(1));
    a[0] = &y;
    EXPECT_EQ(&y, a.GetAt(0));
    a.InsertAt(0, &x, 2);
    EXPECT_EQ(4, a.GetSize());
    EXPECT_EQ(&x, a.ElementAt(1));

    CUIntArray u;
    u.Add(5u);
    CDWordArray d;
    d.Add(0xFFFFFFFFu);
    CByteArray b;
    b.Add(0xAB);
    CWordArray w;
    w.Add(0x1234);
    EXPECT_EQ(5u, u[0]);
    EXPECT_EQ(0xFFFFFFFFu, d[0]);
    EXPECT_EQ(0xAB, b[0]);
    EXPECT_EQ(0x1234, w[0]);
}

TEST(CListTest, PositionsWalkAndEdit) {
    CList<int, int> l;
    EXPECT_EQ(nullptr, l.GetHeadPosition());
    POSITION p2 = l.AddTail(2);
    l.AddHead(1);
    POSITION p4 = l.AddTail(4);
    l.InsertBefore(p4, 3);
    l.InsertAfter(p4, 5);
    EXPECT_EQ(5, l.GetCount());
    EXPECT_EQ(5, l.GetSize());

    std::vector<int> fwd, back;
    for (POSITION pos = l.GetHeadPosition(); pos != NULL;) fwd.push_back(l.GetNext(pos));
    for (POSITION pos = l.GetTailPosition(); pos != NULL;) back.push_back(l.GetPrev(pos));
    EXPECT_EQ((std::vector<int>{1, 2, 3, 4, 5}), fwd);
    EXPECT_EQ((std::vector<int>{5, 4, 3, 2, 1}), back);

    EXPECT_EQ(p2, l.Find(2));
    EXPECT_EQ(nullptr, l.Find(2, p2)) << "search starts after the position";
    EXPECT_EQ(p4, l.FindIndex(3));
    EXPECT_EQ(nullptr, l.FindIndex(5));
    EXPECT_EQ(nullptr, l.FindIndex(-1));

    l.SetAt(p2, 20);
    EXPECT_EQ(20, l.GetAt(p2));
    l.RemoveAt(p2);
    EXPECT_EQ(1, l.RemoveHead());
    EXPECT_EQ(5, l.RemoveTail());
    EXPECT_EQ(3, l.GetHead());
    EXPECT_EQ(4, l.GetTail());

    l.AddTail(&l);  // itself: the current elements once
    fwd.clear();
    for (POSITION pos = l.GetHeadPosition(); pos != NULL;) fwd.push_back(l.GetNext(pos));
    EXPECT_EQ((std::vector<int>{3, 4, 3, 4}), fwd);

    l.RemoveAll();
    EXPECT_TRUE(l.IsEmpty());
    EXPECT_TRUE(Throws<CInvalidArgException>([&] { l.GetHead(); }));
    EXPECT_TRUE(Throws<CInvalidArgException>([&] { l.RemoveTail(); }));
    EXPECT_TRUE(Throws<CInvalidArgException>([&] {
        POSITION none = NULL;
        l.GetNext(none);
    }));
}

TEST(CListTest, ManyNodesAcrossBlocksAndTypedLists) {
    Tracked::s_live = 0;
    {
        CList<Tracked, const Tracked&> l(3);
        for (int i = 0; i < 10; i++) l.AddTail(T(i));
        EXPECT_EQ(10, Tracked::s_live);
        for (int i = 0; i < 4; i++) l.RemoveHead();
        EXPECT_EQ(6, Tracked::s_live);
        EXPECT_EQ(4, l.GetHead().value);
    }
    EXPECT_EQ(0, Tracked::s_live);

    int a = 1, b = 2;
    CTypedPtrList<CPtrList, int*> tl;
    tl.AddTail(&a);
    tl.AddHead(&b);
    EXPECT_EQ(&b, tl.GetHead());
    POSITION pos = tl.GetHeadPosition();
    tl.GetNext(pos);
    EXPECT_EQ(&a, tl.GetAt(pos));
    EXPECT_EQ(&a, tl.RemoveTail());

    CStringList sl;
    sl.AddTail("x");
    sl.AddTail(CString("y"));
    EXPECT_NE(nullptr, sl.Find("y"));
    EXPECT_EQ(nullptr, sl.Find("z"));
}

TEST(CMapTest, LookupSetRemoveAndIterate) {
    CMap<int, int, int, int> m;
    EXPECT_EQ(17u, m.GetHashTableSize());
    EXPECT_EQ(nullptr, m.GetStartPosition());
    for (int i = 0; i < 100; i++) m.SetAt(i, i * 10);
    m[7] = 77;
    EXPECT_EQ(100, m.GetCount());
    int v = 0;
    EXPECT_TRUE(m.Lookup(7, v));
    EXPECT_EQ(77, v);
    EXPECT_FALSE(m.Lookup(100, v));
    EXPECT_TRUE(m.RemoveKey(50));
    EXPECT_FALSE(m.RemoveKey(50));
    EXPECT_EQ(99, m.GetSize());

    // Iteration visits every entry once.
    std::vector<int> seen(100, 0);
    POSITION pos = m.GetStartPosition();
    while (pos != NULL) {
        int k, val;
        m.GetNextAssoc(pos, k, val);
        ASSERT_TRUE(k >= 0 && k < 100) << k;
        seen[k]++;
        EXPECT_EQ(k == 7 ? 77 : k * 10, val) << "key " << k;
    }
    for (int k = 0; k < 100; k++) EXPECT_EQ(k == 50 ? 0 : 1, seen[k]) << "key " << k;

    EXPECT_NE(nullptr, m.PLookup(3));
    EXPECT_EQ(30, m.PLookup(3)->value);
    EXPECT_EQ(nullptr, m.PLookup(50));

    // Rehashing a filled map keeps its entries.
    m.InitHashTable(101);
    EXPECT_EQ(101u, m.GetHashTableSize());
    EXPECT_TRUE(m.Lookup(99, v));
    EXPECT_EQ(990, v);

    for (int k = 0; k < 100; k++) m.RemoveKey(k);
    EXPECT_TRUE(m.IsEmpty());
    EXPECT_EQ(nullptr, m.GetStartPosition());
    m.SetAt(1, 2);
    EXPECT_EQ(1, m.GetCount());
    m.RemoveAll();
    EXPECT_EQ(0, m.GetCount());
}

TEST(CMapTest, IterationOrderIsBucketThenNewestFirst) {
    // Small integer keys share bucket 0 under the identity hash shifted by 4.
    CMap<int, int, int, int> m;
    m.InitHashTable(7);
    m.SetAt(1, 0);
    m.SetAt(2, 0);
    m.SetAt(16, 0);  // hash 1: bucket 1
    std::vector<int> keys;
    for (POSITION pos = m.GetStartPosition(); pos != NULL;) {
        int k, val;
        m.GetNextAssoc(pos, k, val);
        keys.push_back(k);
    }
    EXPECT_EQ((std::vector<int>{2, 1, 16}), keys);
}

// A value whose destructor counts itself and poisons its storage, so a map that used a
// destroyed value would see the poison.
struct Poisoned {
    static int s_destroyed;
    unsigned char bytes[24];
    Poisoned() { memset(bytes, 0x11, sizeof(bytes)); }
    ~Poisoned() {
        for (unsigned char b : bytes) EXPECT_EQ(0x11, b) << "destroyed twice";
        memset(bytes, 0xDD, sizeof(bytes));
        s_destroyed++;
    }
};
int Poisoned::s_destroyed = 0;

TEST(CMapTest, RemoveAllDestroysEachValueOnceAlongLongChains) {
    Poisoned::s_destroyed = 0;
    {
        CMap<int, int, Poisoned, const Poisoned&> m;
        m.InitHashTable(3);  // 40 entries in 3 buckets: long chains
        for (int round = 0; round < 2; round++) {
            for (int i = 0; i < 40; i++) m[i * 16];
            EXPECT_EQ(40, m.GetCount());
            m.RemoveAll();
            EXPECT_EQ(40 * (round + 1), Poisoned::s_destroyed);
            EXPECT_EQ(0, m.GetCount());
        }
        m[5];
        EXPECT_NE(nullptr, m.PLookup(5));
    }
    EXPECT_EQ(81, Poisoned::s_destroyed);
}

TEST(CMapTest, HashKeysAndStringMaps) {
    EXPECT_EQ(0u, HashKey<LPCTSTR>(""));
    EXPECT_EQ((UINT)'a', HashKey<LPCTSTR>("a"));
    EXPECT_EQ((UINT)('a' * 33 + 'b'), HashKey<LPCTSTR>("ab"));
    EXPECT_EQ(HashKey<LPCTSTR>("abc"), HashKey<const CString&>(CString("abc")));
    EXPECT_EQ(0x12u, HashKey<DWORD>(0x123));
    EXPECT_EQ(0x12u, HashKey<HWND>((HWND)0x123));
    EXPECT_EQ(0x0F0F0Fu, HashKey<COLORREF>(RGB(0xF0, 0xF0, 0xF0)));
    EXPECT_EQ(3u, HashKey<ULONGLONG>(0x0000002000000010ull)) << "both halves";
    CMap<LONGLONG, LONGLONG, int, int> big;
    big[-1] = 1;
    big[0x100000000ll] = 2;
    int iv64 = 0;
    EXPECT_TRUE(big.Lookup(0x100000000ll, iv64));
    EXPECT_EQ(2, iv64);

    CMapStringToString ss;
    ss.SetAt("alpha", "1");
    ss["beta"] = "2";
    CString val;
    EXPECT_TRUE(ss.Lookup("alpha", val));
    EXPECT_STREQ("1", val);
    EXPECT_FALSE(ss.Lookup("ALPHA", val)) << "keys are case-sensitive";
    LPCTSTR key = NULL;
    EXPECT_TRUE(ss.LookupKey("beta", key));
    EXPECT_STREQ("beta", key);

    CMapStringToPtr sp;
    int x = 0;
    sp.SetAt("x", &x);
    void* p = NULL;
    EXPECT_TRUE(sp.Lookup("x", p));
    EXPECT_EQ(&x, p);

    CMap<CString, const CString&, int, int> cm;
    cm[CString("k")] = 3;
    int iv = 0;
    EXPECT_TRUE(cm.Lookup(CString("k"), iv));
    EXPECT_EQ(3, iv);
}

TEST(CTypedPtrMapTest, TypedPointerAndWordMaps) {
    struct Frame {
        int id;
    } f1{1}, f2{2};
    CTypedPtrMap<CMapPtrToWord, Frame*, WORD> reg(10);
    reg.SetAt(&f1, 11);
    reg[&f2] = 22;
    WORD w = 0;
    EXPECT_TRUE(reg.Lookup(&f2, w));
    EXPECT_EQ(22, w);
    EXPECT_FALSE(reg.Lookup(NULL, w));

    CTypedPtrMap<CMapPtrToPtr, Frame*, Frame*> pp;
    pp.SetAt(&f1, &f2);
    pp.SetAt(&f2, &f1);
    int n = 0;
    for (POSITION pos = pp.GetStartPosition(); pos != NULL; n++) {
        Frame* k;
        Frame* v;
        pp.GetNextAssoc(pos, k, v);
        EXPECT_EQ(k == &f1 ? &f2 : &f1, v);
    }
    EXPECT_EQ(2, n);
    EXPECT_TRUE(pp.RemoveKey(&f1));
    Frame* out = NULL;
    EXPECT_FALSE(pp.Lookup(&f1, out));

    CTypedPtrMap<CMapStringToPtr, CString, Frame*> sm;
    sm.SetAt("a", &f1);
    Frame* pf = NULL;
    EXPECT_TRUE(sm.Lookup("a", pf));
    EXPECT_EQ(1, pf->id);

    CMapWordToPtr wp;
    wp.SetAt(3, &f1);
    void* pv = NULL;
    EXPECT_TRUE(wp.Lookup(3, pv));
    EXPECT_EQ((void*)&f1, pv);
}

namespace {
class CCollItem : public CObject {
public:
    explicit CCollItem(int n) : m_n(n) {}
    int m_n;
};
}  // namespace

TEST(CTypedPtrCollectionsTest, OverObjectCollections) {
    CCollItem a(1), b(2);
    CTypedPtrArray<CObArray, CCollItem*> arr;
    arr.Add(&a);
    arr.InsertAt(0, &b);
    EXPECT_EQ(2, arr[0]->m_n);
    EXPECT_EQ(&a, arr.GetAt(1));
    arr.RemoveAt(0);
    EXPECT_EQ(1, arr.GetData()[0]->m_n);

    CTypedPtrList<CObList, CCollItem*> list;
    list.AddTail(&a);
    list.AddHead(&b);
    POSITION pos = list.Find(&a);
    ASSERT_NE(nullptr, pos);
    EXPECT_EQ(1, list.GetAt(pos)->m_n);
    list.InsertAfter(pos, &b);
    EXPECT_EQ(&b, list.GetTail());
    EXPECT_EQ(&b, list.RemoveHead());
    EXPECT_EQ(2, list.GetCount());

    CTypedPtrMap<CMapStringToOb, CString, CCollItem*> byName;
    byName.SetAt("a", &a);
    byName["b"] = &b;
    CCollItem* found = NULL;
    EXPECT_TRUE(byName.Lookup("b", found));
    EXPECT_EQ(2, found->m_n);
    EXPECT_TRUE(byName.RemoveKey("a"));
    POSITION mp = byName.GetStartPosition();
    CString key;
    CCollItem* value = NULL;
    byName.GetNextAssoc(mp, key, value);
    EXPECT_STREQ("b", key);
    EXPECT_EQ(&b, value);
    EXPECT_EQ(nullptr, mp);

    CTypedPtrMap<CMapWordToOb, WORD, CCollItem*> byId;
    byId.SetAt(7, &a);
    EXPECT_TRUE(byId.Lookup(7, found));
    EXPECT_EQ(&a, found);
}
