// Archives: byte layouts of the primitive types, strings of every length class, counts,
// class records and back-references; damaged archives of each kind ending in the right
// CArchiveException cause; schema handling; collections through archives.
#include <gtest/gtest.h>
#include "framework/archive.h"
#include "framework/collections.h"
#include "framework/exceptions.h"
#include "framework/file.h"
#include "support/exception_probe.h"
#include "support/archive_bytes.h"
#include <functional>
#include <string>
#include <vector>

// Serializable test classes.
class CArcShape : public CObject {
    DECLARE_SERIAL(CArcShape)
public:
    LONG m_nValue = 0;
    CString m_strName;
    CArcShape* m_pNext = NULL;  // not owned
    void Serialize(CArchive& ar) override {
        CObject::Serialize(ar);
        if (ar.IsStoring()) {
            ar << m_nValue << m_strName;
            ar << (CObject*)m_pNext;
        } else {
            ar >> m_nValue >> m_strName;
            ar >> m_pNext;
        }
    }
};
IMPLEMENT_SERIAL(CArcShape, CObject, 1)

class CArcVersioned : public CObject {
    DECLARE_SERIAL(CArcVersioned)
public:
    UINT m_nLoadedSchema = 0;
    void Serialize(CArchive& ar) override {
        if (!ar.IsStoring()) m_nLoadedSchema = ar.GetObjectSchema();
    }
};
IMPLEMENT_SERIAL(CArcVersioned, CObject, VERSIONABLE_SCHEMA | 2)

class CArcOther : public CObject {
    DECLARE_SERIAL(CArcOther)
};
IMPLEMENT_SERIAL(CArcOther, CObject, 1)

// Counts live instances: objects freed after a failed load are really freed.
class CArcFailing : public CObject {
    DECLARE_SERIAL(CArcFailing)
public:
    static int s_live;
    CArcFailing() { s_live++; }
    ~CArcFailing() override { s_live--; }
    void Serialize(CArchive& ar) override {
        if (!ar.IsStoring()) {
            DWORD dw;
            ar >> dw;
        }
    }
};
int CArcFailing::s_live = 0;
IMPLEMENT_SERIAL(CArcFailing, CObject, 1)

namespace {

using testsupport::StoredBytes;
typedef std::vector<BYTE> Bytes;

// Runs f with a loading archive over a copy of the bytes.
void Load(const Bytes& bytes, const std::function<void(CArchive&)>& f) {
    CMemFile file;
    if (!bytes.empty()) file.Write(bytes.data(), (UINT)bytes.size());
    file.SeekToBegin();
    CArchive ar(&file, CArchive::load);
    f(ar);
}

Bytes Cat(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const Bytes& p : parts) out.insert(out.end(), p.begin(), p.end());
    return out;
}

Bytes Text(const char* s) {
    return Bytes(s, s + strlen(s));
}

Bytes Word(WORD w) {
    return Bytes{(BYTE)w, (BYTE)(w >> 8)};
}

Bytes Dword(DWORD d) {
    return Bytes{(BYTE)d, (BYTE)(d >> 8), (BYTE)(d >> 16), (BYTE)(d >> 24)};
}

// The class record of CArcShape as written the first time.
Bytes ShapeClassRecord(WORD wSchema = 1) {
    return Cat({Word(0xFFFF), Word(wSchema), Word(9), Text("CArcShape")});
}

// A CArcShape body: value, name, then the m_pNext object tag.
Bytes ShapeBody(LONG value, const char* name, Bytes next) {
    return Cat({Dword((DWORD)value), Bytes{(BYTE)strlen(name)}, Text(name), next});
}

// A file whose length cannot be asked, like a pipe or socket.
class CStreamOnlyFile : public CMemFile {
public:
    ULONGLONG GetLength() const override {
        AfxThrowNotSupportedException();
    }
};

}  // namespace

TEST(CArchiveTest, PrimitiveTypesLayout) {
    Bytes b = StoredBytes([](CArchive& ar) {
        ar << (BYTE)0x01 << (WORD)0x0302 << (LONG)-2 << (DWORD)0x07060504;
        ar << (int)-1 << (UINT)0x0B0A0908 << (short)-3 << 'c' << true << false;
        ar << 1.0f << 2.0 << (LONGLONG)-5 << (ULONGLONG)0x0123456789ABCDEFull;
    });
    Bytes expected = Cat({Bytes{0x01}, Word(0x0302), Dword(0xFFFFFFFE), Dword(0x07060504), Dword(0xFFFFFFFF),
                          Dword(0x0B0A0908), Word(0xFFFD), Bytes{'c', 1, 0}, Dword(0x3F800000),
                          Dword(0), Dword(0x40000000), Dword(0xFFFFFFFB), Dword(0xFFFFFFFF),
                          Dword(0x89ABCDEF), Dword(0x01234567)});
    EXPECT_EQ(expected, b);

    Load(b, [](CArchive& ar) {
        BYTE by;
        WORD w;
        LONG l;
        DWORD dw;
        int i;
        UINT u;
        short s;
        char c;
        bool t, f;
        float fl;
        double d;
        LONGLONG ll;
        ULONGLONG ull;
        ar >> by >> w >> l >> dw >> i >> u >> s >> c >> t >> f >> fl >> d >> ll >> ull;
        EXPECT_EQ(1, by);
        EXPECT_EQ(0x0302, w);
        EXPECT_EQ(-2, l);
        EXPECT_EQ(0x07060504u, dw);
        EXPECT_EQ(-1, i);
        EXPECT_EQ(0x0B0A0908u, u);
        EXPECT_EQ(-3, s);
        EXPECT_EQ('c', c);
        EXPECT_TRUE(t);
        EXPECT_FALSE(f);
        EXPECT_EQ(1.0f, fl);
        EXPECT_EQ(2.0, d);
        EXPECT_EQ(-5, ll);
        EXPECT_EQ(0x0123456789ABCDEFull, ull);
        EXPECT_TRUE(ar.IsBufferEmpty());
    });
}

TEST(CArchiveTest, StringLengthClasses) {
    struct Case {
        int length;
        Bytes header;
    } cases[] = {
        {0, {0x00}},
        {1, {0x01}},
        {254, {0xFE}},
        {255, Cat({{0xFF}, Word(255)})},
        {0xFFFD, Cat({{0xFF}, Word(0xFFFD)})},
        {0xFFFE, Cat({{0xFF}, Word(0xFFFF), Dword(0xFFFE)})},
        {0xFFFF, Cat({{0xFF}, Word(0xFFFF), Dword(0xFFFF)})},
        {0x12345, Cat({{0xFF}, Word(0xFFFF), Dword(0x12345)})},
    };
    for (const Case& c : cases) {
        CString s;
        for (int i = 0; i < c.length; i++) s += (char)('a' + i % 26);
        Bytes b = StoredBytes([&](CArchive& ar) { ar << s; });
        ASSERT_EQ(c.header.size() + c.length, b.size()) << "length " << c.length;
        EXPECT_EQ(c.header, Bytes(b.begin(), b.begin() + c.header.size())) << "length " << c.length;
        EXPECT_TRUE(c.length == 0 || b[c.header.size()] == 'a') << "length " << c.length;
        CString back("old");
        Load(b, [&](CArchive& ar) { ar >> back; });
        EXPECT_EQ(c.length, back.GetLength()) << "length " << c.length;
        EXPECT_TRUE(back == s) << "length " << c.length;
    }

    // A plain C string goes in as a string, not as a bool.
    EXPECT_EQ(Cat({{3}, Text("abc")}), StoredBytes([](CArchive& ar) { ar << "abc"; }));
}

TEST(CArchiveTest, UnicodeMarkedStringsAreConverted) {
    Bytes b = Cat({{0xFF}, Word(0xFFFE), {3}, {'a', 0, 'b', 0, 'c', 0}});
    CString s;
    Load(b, [&](CArchive& ar) { ar >> s; });
    EXPECT_STREQ("abc", s);

    Bytes longer = Cat({{0xFF}, Word(0xFFFE), {0xFF}, Word(300)});
    for (int i = 0; i < 300; i++) longer.insert(longer.end(), {'x', 0});
    Load(longer, [&](CArchive& ar) { ar >> s; });
    EXPECT_EQ(300, s.GetLength());
}

TEST(CArchiveTest, CountsAndTextLines) {
    Bytes b = StoredBytes([](CArchive& ar) {
        ar.WriteCount(5);
        ar.WriteCount(0xFFFE);
        ar.WriteCount(0xFFFF);
        ar.WriteCount(0x12345);
    });
    EXPECT_EQ(Cat({Word(5), Word(0xFFFE), Word(0xFFFF), Dword(0xFFFF), Word(0xFFFF), Dword(0x12345)}), b);
    Load(b, [](CArchive& ar) {
        EXPECT_EQ(5u, ar.ReadCount());
        EXPECT_EQ(0xFFFEu, ar.ReadCount());
        EXPECT_EQ(0xFFFFu, ar.ReadCount());
        EXPECT_EQ(0x12345u, ar.ReadCount());
    });

    Bytes text = StoredBytes([](CArchive& ar) { ar.WriteString("one\r\ntwo\nthree"); });
    EXPECT_EQ(Text("one\r\ntwo\nthree"), text);
    Load(text, [](CArchive& ar) {
        CString line;
        EXPECT_TRUE(ar.ReadString(line));
        EXPECT_STREQ("one", line);
        EXPECT_TRUE(ar.ReadString(line));
        EXPECT_STREQ("two", line);
        EXPECT_TRUE(ar.ReadString(line));
        EXPECT_STREQ("three", line);
        EXPECT_FALSE(ar.ReadString(line));
    });
    Load(text, [](CArchive& ar) {
        char buf[8];
        EXPECT_STREQ("one", ar.ReadString(buf, 7));
        EXPECT_STREQ("two", ar.ReadString(buf, 7));
    });
}

TEST(CArchiveTest, ObjectsClassRecordsAndBackReferences) {
    CArcShape a, b;
    a.m_nValue = 1;
    a.m_strName = "A";
    a.m_pNext = &a;  // refers to itself
    b.m_nValue = 2;
    b.m_strName = "B";
    b.m_pNext = &a;
    Bytes bytes = StoredBytes([&](CArchive& ar) {
        ar << (CObject*)&a;
        ar << &b;  // a derived pointer goes in as an object, not as a bool
        ar << (CObject*)&a;
        ar << (CObject*)NULL;
    });
    // Index 1 is the class, 2 object a, 3 object b.
    Bytes expected = Cat({ShapeClassRecord(), ShapeBody(1, "A", Word(2)), Word(0x8001), ShapeBody(2, "B", Word(2)),
                          Word(2), Word(0)});
    EXPECT_EQ(expected, bytes);

    Load(bytes, [](CArchive& ar) {
        CArcShape* p1 = NULL;
        CArcShape* p2 = NULL;
        CObject* p3 = NULL;
        CObject* p4 = (CObject*)1;
        ar >> p1 >> p2 >> p3 >> p4;
        ASSERT_NE(nullptr, p1);
        ASSERT_NE(nullptr, p2);
        EXPECT_EQ(1, p1->m_nValue);
        EXPECT_STREQ("A", p1->m_strName);
        EXPECT_EQ(p1, p1->m_pNext);
        EXPECT_EQ(p1, p2->m_pNext);
        EXPECT_EQ((CObject*)p1, p3) << "written twice: one object";
        EXPECT_EQ(nullptr, p4);
        delete p1;
        delete p2;
    });

    // WriteClass / ReadClass on their own, and SerializeClass.
    Bytes classes = StoredBytes([](CArchive& ar) {
        ar.WriteClass(RUNTIME_CLASS(CArcShape));
        ar.WriteClass(RUNTIME_CLASS(CArcOther));
        ar.SerializeClass(RUNTIME_CLASS(CArcShape));
    });
    EXPECT_EQ(Cat({ShapeClassRecord(), Word(0xFFFF), Word(1), Word(9), Text("CArcOther"), Word(0x8001)}), classes);
    Load(classes, [](CArchive& ar) {
        UINT nSchema = 0;
        EXPECT_EQ(RUNTIME_CLASS(CArcShape), ar.ReadClass(NULL, &nSchema));
        EXPECT_EQ(1u, nSchema);
        EXPECT_EQ(RUNTIME_CLASS(CArcOther), ar.ReadClass());
        ar.SerializeClass(RUNTIME_CLASS(CArcShape));
        EXPECT_EQ(1u, ar.GetObjectSchema());
        EXPECT_EQ((UINT)-1, ar.GetObjectSchema()) << "answered once";
    });
}

TEST(CArchiveTest, BigIndexesUseTheEscape) {
    // Fill the table so the class gets index 0x7FFF and the object 0x8000.
    const DWORD nFill = 0x7FFE;
    CArcOther other;
    Bytes bytes = StoredBytes([&](CArchive& ar) {
        for (DWORD i = 0; i < nFill; i++) ar.MapObject((const CObject*)(UINT_PTR)(0x10000 + i * 8));
        ar << (CObject*)&other;
        ar.WriteClass(RUNTIME_CLASS(CArcOther));
        ar << (CObject*)&other;
    });
    Bytes expected = Cat({Word(0xFFFF), Word(1), Word(9), Text("CArcOther"), Word(0x7FFF), Dword(0x80007FFF),
                          Word(0x7FFF), Dword(0x8000)});
    EXPECT_EQ(expected, bytes);

    Load(bytes, [&](CArchive& ar) {
        for (DWORD i = 0; i < nFill; i++) ar.MapObject((const CObject*)&other);
        CObject* p = ar.ReadObject(NULL);
        ASSERT_NE(nullptr, p);
        EXPECT_TRUE(p->IsKindOf(RUNTIME_CLASS(CArcOther)));
        EXPECT_EQ(RUNTIME_CLASS(CArcOther), ar.ReadClass());
        EXPECT_EQ(p, ar.ReadObject(NULL));
        delete p;
    });
}

TEST(CArchiveTest, SchemaHandling) {
    // A stored schema the class does not have: refused unless the class is versionable.
    Bytes wrong = Cat({ShapeClassRecord(2), ShapeBody(1, "A", Word(0))});
    EXPECT_EQ(CArchiveException::badSchema, ThrownCause<CArchiveException>([&] {
                  Load(wrong, [](CArchive& ar) { ar.ReadObject(NULL); });
              }));

    Bytes versioned = Cat({Word(0xFFFF), Word(5), Word(13), Text("CArcVersioned"), Word(0x8001)});
    Load(versioned, [](CArchive& ar) {
        CObject* p1 = ar.ReadObject(RUNTIME_CLASS(CArcVersioned));
        CObject* p2 = ar.ReadObject(RUNTIME_CLASS(CArcVersioned));
        ASSERT_NE(nullptr, p1);
        ASSERT_NE(nullptr, p2);
        EXPECT_EQ(5u, ((CArcVersioned*)p1)->m_nLoadedSchema) << "the stored schema reaches Serialize";
        EXPECT_EQ(5u, ((CArcVersioned*)p2)->m_nLoadedSchema) << "and again through the back-reference";
        delete p1;
        delete p2;
    });

    // The versionable class writes its own schema without the flag.
    CArcVersioned v;
    Bytes stored = StoredBytes([&](CArchive& ar) { ar << (CObject*)&v; });
    EXPECT_EQ(Cat({Word(0xFFFF), Word(2), Word(13), Text("CArcVersioned")}), stored);
}

TEST(CArchiveTest, DamagedArchivesEndInTheirCause) {
    Bytes good = Cat({ShapeClassRecord(), ShapeBody(7, "name", Word(0)), Word(0x8001), ShapeBody(8, "", Word(2))});
    // Every truncation of a good archive is an end of file, never a crash.
    for (size_t n = 0; n < good.size(); n++) {
        Bytes cut(good.begin(), good.begin() + n);
        int cause = ThrownCause<CArchiveException>([&] {
            Load(cut, [](CArchive& ar) {
                CObject* p1 = ar.ReadObject(NULL);
                CObject* p2 = NULL;
                try {
                    p2 = ar.ReadObject(NULL);
                } catch (...) {
                    delete p1;
                    throw;
                }
                delete p1;
                delete p2;
            });
        });
        EXPECT_EQ(CArchiveException::endOfFile, cause) << "cut at " << n;
    }

    struct Case {
        const char* name;
        Bytes bytes;
        int cause;
        const CRuntimeClass* pRequested;
    } cases[] = {
        {"unknown class", Cat({Word(0xFFFF), Word(1), Word(7), Text("CNoSuch")}), CArchiveException::badClass, NULL},
        {"empty class name", Cat({Word(0xFFFF), Word(1), Word(0)}), CArchiveException::badClass, NULL},
        {"class name too long", Cat({Word(0xFFFF), Word(1), Word(200), Bytes(200, 'A')}), CArchiveException::badClass,
         NULL},
        {"class without serialization", Cat({Word(0xFFFF), Word(0xFFFF), Word(9), Text("CPtrArray")}),
         CArchiveException::badClass, NULL},
        {"class not the one asked for", Cat({ShapeClassRecord(), ShapeBody(1, "A", Word(0))}),
         CArchiveException::badClass, RUNTIME_CLASS(CArcOther)},
        {"class reference never loaded", Word(0x8005), CArchiveException::badIndex, NULL},
        {"class reference 0", Word(0x8000), CArchiveException::badIndex, NULL},
        {"big class reference never loaded", Cat({Word(0x7FFF), Dword(0x80012345)}), CArchiveException::badIndex,
         NULL},
        {"object reference never loaded", Word(7), CArchiveException::badIndex, NULL},
        {"big object reference never loaded", Cat({Word(0x7FFF), Dword(0x12345)}), CArchiveException::badIndex, NULL},
        {"object reference to a class", Cat({ShapeClassRecord(), ShapeBody(1, "A", Word(1))}),
         CArchiveException::badIndex, NULL},
        {"class reference to an object", Cat({ShapeClassRecord(), ShapeBody(1, "A", Word(0)), Word(0x8002)}),
         CArchiveException::badIndex, NULL},
        {"string longer than the file", Cat({ShapeClassRecord(), Dword(1), {0xFF}, Word(0xFFFF), Dword(0x7FFFFFFF)}),
         CArchiveException::endOfFile, NULL},
        {"string of an 8-byte length", Cat({ShapeClassRecord(), Dword(1), {0xFF}, Word(0xFFFF), Dword(0xFFFFFFFF)}),
         CArchiveException::badSchema, NULL},
    };
    for (const Case& c : cases) {
        int cause = ThrownCause<CArchiveException>([&] {
            Load(c.bytes, [&](CArchive& ar) {
                // Read twice so that a second tag after a good object is reached too.
                CObject* p1 = ar.ReadObject(c.pRequested);
                CObject* p2 = NULL;
                try {
                    p2 = ar.ReadObject(c.pRequested);
                } catch (...) {
                    delete p1;
                    throw;
                }
                delete p1;
                delete p2;
            });
        });
        EXPECT_EQ(c.cause, cause) << c.name;
    }

    // A class tag is due but an object tag stands there.
    EXPECT_EQ(CArchiveException::badIndex,
              ThrownCause<CArchiveException>([] { Load(Word(3), [](CArchive& ar) { ar.ReadClass(); }); }));
}

TEST(CArchiveTest, AbsurdLengthsOnAStreamOfUnknownSize) {
    // The length cannot be checked up front; reading stops at the real end.
    CStreamOnlyFile file;
    Bytes b = Cat({{0xFF}, Word(0xFFFF), Dword(0x7FFFFFF0), Text("only a few bytes")});
    file.Write(b.data(), (UINT)b.size());
    file.SeekToBegin();
    CString s("kept");
    EXPECT_EQ(CArchiveException::endOfFile, ThrownCause<CArchiveException>([&] {
                  CArchive ar(&file, CArchive::load);
                  ar >> s;
              }));
    EXPECT_STREQ("kept", s) << "a failed read leaves the string alone";

    // Collection counts the file cannot hold.
    Bytes count = Cat({Word(0xFFFF), Dword(0x10000000), Dword(1)});
    CDWordArray dwa;
    EXPECT_EQ(CArchiveException::endOfFile,
              ThrownCause<CArchiveException>([&] { Load(count, [&](CArchive& ar) { dwa.Serialize(ar); }); }));
    CStringList sl;
    EXPECT_EQ(CArchiveException::endOfFile,
              ThrownCause<CArchiveException>([&] { Load(count, [&](CArchive& ar) { sl.Serialize(ar); }); }));
    EXPECT_EQ(0, dwa.GetSize());
}

TEST(CArchiveTest, FailedObjectIsFreed) {
    CArcFailing::s_live = 0;
    Bytes b = Cat({Word(0xFFFF), Word(1), Word(11), Text("CArcFailing"), Word(0x12)});
    EXPECT_EQ(CArchiveException::endOfFile,
              ThrownCause<CArchiveException>([&] { Load(b, [](CArchive& ar) { ar.ReadObject(NULL); }); }));
    EXPECT_EQ(0, CArcFailing::s_live);
}

TEST(CArchiveTest, WrongDirectionAndBuffering) {
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        EXPECT_TRUE(ar.IsStoring());
        EXPECT_FALSE(ar.IsLoading());
        EXPECT_EQ(&file, ar.GetFile());
        DWORD dw;
        EXPECT_EQ(CArchiveException::writeOnly, ThrownCause<CArchiveException>([&] { ar >> dw; }));
        ar << (DWORD)0x11223344 << (WORD)0x5566;
        EXPECT_EQ(0u, file.GetLength()) << "buffered until flushed";
        ar.Flush();
        EXPECT_EQ(6u, file.GetLength());
        ar << (BYTE)1;
    }  // the destructor flushes
    EXPECT_EQ(7u, file.GetLength());

    file.SeekToBegin();
    {
        CArchive ar(&file, CArchive::load | CArchive::bNoFlushOnDelete);
        EXPECT_EQ(CArchiveException::readOnly, ThrownCause<CArchiveException>([&] { ar << (BYTE)1; }));
        WORD w;
        ar >> w;
        EXPECT_EQ(0x3344, w);
        ar.Close();  // hands back what was buffered but not read
        EXPECT_EQ(2u, file.GetPosition());
    }

    // Abort drops what was not written.
    CMemFile file2;
    {
        CArchive ar(&file2, CArchive::store);
        ar << (DWORD)1;
        ar.Abort();
    }
    EXPECT_EQ(0u, file2.GetLength());

    // Data larger than the buffer, with a small caller-supplied buffer.
    BYTE userBuf[128];
    std::string big(1000, 'q');
    CMemFile file3;
    {
        CArchive ar(&file3, CArchive::store, sizeof(userBuf), userBuf);
        ar << (BYTE)7;
        ar.Write(big.data(), (UINT)big.size());
        ar << (BYTE)8;
    }
    EXPECT_EQ(1002u, file3.GetLength());
    file3.SeekToBegin();
    CArchive ar(&file3, CArchive::load, sizeof(userBuf), userBuf);
    BYTE first, last;
    std::string back(1000, ' ');
    ar >> first;
    ar.EnsureRead(&back[0], 1000);
    ar >> last;
    EXPECT_EQ(7, first);
    EXPECT_EQ(big, back);
    EXPECT_EQ(8, last);
    BYTE extra;
    EXPECT_EQ(0u, ar.Read(&extra, 1));
}

TEST(CArchiveTest, CollectionsRoundTrip) {
    CStringArray sa;
    sa.Add("x");
    sa.Add("");
    CArray<int, int> ia;
    ia.Add(-1);
    ia.Add(2);
    CMapStringToString ms;
    ms["k"] = "v";
    CObList ol;
    CArcOther* pOther = new CArcOther;
    ol.AddTail(pOther);
    ol.AddTail(pOther);
    CWordArray wa;
    wa.Add(0xBEEF);

    Bytes b = StoredBytes([&](CArchive& ar) {
        sa.Serialize(ar);
        ia.Serialize(ar);
        ms.Serialize(ar);
        ol.Serialize(ar);
        wa.Serialize(ar);
    });
    Bytes expected = Cat({Word(2), {1, 'x', 0}, Word(2), Dword(0xFFFFFFFF), Dword(2), Word(1), {1, 'k', 1, 'v'},
                          Word(2), Word(0xFFFF), Word(1), Word(9), Text("CArcOther"), Word(2), Word(1), Word(0xBEEF)});
    EXPECT_EQ(expected, b);

    CStringArray sa2;
    CArray<int, int> ia2;
    CMapStringToString ms2;
    CObList ol2;
    CWordArray wa2;
    Load(b, [&](CArchive& ar) {
        sa2.Serialize(ar);
        ia2.Serialize(ar);
        ms2.Serialize(ar);
        ol2.Serialize(ar);
        wa2.Serialize(ar);
    });
    ASSERT_EQ(2, sa2.GetSize());
    EXPECT_STREQ("x", sa2[0]);
    EXPECT_STREQ("", sa2[1]);
    ASSERT_EQ(2, ia2.GetSize());
    EXPECT_EQ(-1, ia2[0]);
    CString v;
    EXPECT_TRUE(ms2.Lookup("k", v));
    EXPECT_STREQ("v", v);
    ASSERT_EQ(2, ol2.GetCount());
    EXPECT_EQ(ol2.GetHead(), ol2.GetTail());
    EXPECT_TRUE(ol2.GetHead()->IsKindOf(RUNTIME_CLASS(CArcOther)));
    ASSERT_EQ(1, wa2.GetSize());
    EXPECT_EQ(0xBEEF, wa2[0]);
    delete ol2.GetHead();
    delete pOther;
}

TEST(CArchiveTest, DeeplyNestedObjectsAreBounded) {
    // Objects loaded inside one another: a deep but sane chain loads, an absurd one is
    // refused instead of exhausting the stack.
    struct Case {
        int depth;
        int cause;
    } cases[] = {{1999, -1}, {2001, CArchiveException::genericException}};
    for (const Case& c : cases) {
        std::vector<CArcShape> chain(c.depth);
        for (int i = 0; i + 1 < c.depth; i++) chain[i].m_pNext = &chain[i + 1];
        chain[0].m_nValue = 42;
        Bytes b = StoredBytes([&](CArchive& ar) { ar << &chain[0]; });
        CObject* pRoot = NULL;
        int cause = ThrownCause<CArchiveException>([&] { Load(b, [&](CArchive& ar) { ar >> pRoot; }); });
        EXPECT_EQ(c.cause, cause) << "depth " << c.depth;
        if (pRoot == NULL) continue;
        int n = 0;
        for (CArcShape* p = (CArcShape*)pRoot; p != NULL; n++) {
            CArcShape* pNext = p->m_pNext;
            delete p;
            p = pNext;
        }
        EXPECT_EQ(c.depth, n) << "depth " << c.depth;
    }
}
