#include <gtest/gtest.h>
#include <vector>
#include <set>
#include "framework/framework.h"
#include "toolkit/core/cmd_icon.h"
#include "toolkit/grid/grid_cell.h"
#include "toolkit/grid/grid_data_provider.h"
#include "support/archive_bytes.h"

namespace {

}  // namespace

class NotACell : public CObject {
    DECLARE_SERIAL(NotACell)
};
IMPLEMENT_SERIAL(NotACell, CObject, 1)

namespace {

// An allocator that knows its blocks, so that DidAlloc and leaks can be checked.
class TrackingMalloc : public IMalloc {
public:
    std::set<void*> blocks;
    bool fail = false;
    ULONG STDMETHODCALLTYPE AddRef() override { return 1; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** ppv) override { *ppv = this; return S_OK; }
    void* STDMETHODCALLTYPE Alloc(SIZE_T cb) override { if (fail) return NULL; void* p = malloc(cb); blocks.insert(p); return p; }
    void* STDMETHODCALLTYPE Realloc(void*, SIZE_T) override { return NULL; }
    void STDMETHODCALLTYPE Free(void* p) override { blocks.erase(p); free(p); }
    SIZE_T STDMETHODCALLTYPE GetSize(void*) override { return 0; }
    int STDMETHODCALLTYPE DidAlloc(void* p) override { return blocks.count(p) ? 1 : 0; }
    void STDMETHODCALLTYPE HeapMinimize() override {}
};

class IconProvider : public CExtGridDataProviderMemory {
public:
    std::vector<CExtCmdIcon*> icons;
    LONG IconCountGet() const override { return (LONG)icons.size(); }
    CExtCmdIcon* IconGet(LONG n) const override { return icons[n]; }
};

// Cells that offer a text buffer or a VARIANT value, as the kinds do.
class TextCell : public CExtGridCell {
public:
    CString text;
    explicit TextCell(LPCTSTR s) : text(s) {}
    LPCTSTR GetTextBuffer() const override { return text; }
};

class IntCell : public CExtGridCell {
public:
    LONG value;
    explicit IntCell(LONG v) : value(v) {}
    void VariantGet(VARIANT* p) const override { ::VariantClear(p); p->vt = VT_I4; p->lVal = value; }
};

std::vector<BYTE> Words(std::initializer_list<DWORD> words) {
    std::vector<BYTE> out;
    for (DWORD w : words)
        for (int i = 0; i < 4; i++) out.push_back((BYTE)(w >> (8 * i)));
    return out;
}

}  // namespace

TEST(GridCell, NewCellFieldsAndArchiveForm) {
    CExtGridCell cell;
    EXPECT_EQ(0x40000000u, cell.GetStyle());
    EXPECT_EQ(0u, cell.GetStyleEx());
    EXPECT_EQ(-1, cell.IconIndexGet());
    EXPECT_EQ(-1, cell.ImageIndexGet());
    EXPECT_EQ(0u, cell.GetValue32());
    EXPECT_TRUE(cell.GetOwner() == NULL);
    EXPECT_TRUE(cell.IsEmpty());
    EXPECT_STREQ("CExtGridCell", cell.GetRuntimeClass()->m_lpszClassName);

    auto bytes = testsupport::StoredBytes([&](CArchive& ar) { cell.Serialize(ar); });
    EXPECT_EQ(Words({0x40000000, 0, 0xFFFFFFFF, 0xFFFFFFFF, 0}), bytes);
}

TEST(GridCell, StylesValueAndIndices) {
    CExtGridCell cell;
    EXPECT_EQ(0x40000000u, cell.ModifyStyle(0, 0));
    EXPECT_EQ(0x40000000u, cell.GetStyle());
    EXPECT_EQ(0x40000000u, cell.ModifyStyle(0x02000000 | 0x3, 0x40000000));
    EXPECT_EQ(0x02000003u, cell.GetStyle());
    EXPECT_EQ(0x02000003u, cell.ModifyStyle(0x10, 0x2));
    EXPECT_EQ(0x02000011u, cell.GetStyle());
    EXPECT_EQ(0u, cell.ModifyStyleEx(0x18));
    EXPECT_EQ(0x18u, cell.ModifyStyleEx(0, 0x8));
    EXPECT_EQ(0x10u, cell.GetStyleEx());

    EXPECT_EQ(0u, cell.SetValue32(77));
    EXPECT_EQ(77u, cell.SetValue32(5));
    EXPECT_EQ(5u, cell.GetValue32());
    EXPECT_EQ(-1, cell.IconIndexSet(3));
    EXPECT_EQ(3, cell.IconIndexGet());
    EXPECT_EQ(-1, cell.ImageIndexSet(4));
    EXPECT_EQ(4, cell.ImageIndexGet());

    IconProvider provider;
    EXPECT_TRUE(cell.SetOwner(&provider) == NULL);
    EXPECT_EQ(&provider, cell.GetOwner());

    // Reset returns to a new cell's fields and forgets the owner.
    cell.Reset();
    EXPECT_EQ(0x40000000u, cell.GetStyle());
    EXPECT_EQ(-1, cell.IconIndexGet());
    EXPECT_TRUE(cell.GetOwner() == NULL);
}

TEST(GridCell, BaseAnswers) {
    CExtGridCell cell;
    CString s = "x";
    cell.TextGet(s);
    EXPECT_STREQ("", s);
    cell.TextSet("abc");
    cell.TextGetForEdit(s);
    EXPECT_STREQ("", s);
    VARIANT v;
    ::VariantInit(&v);
    v.vt = VT_I4;
    cell.VariantGet(&v);
    EXPECT_EQ(VT_EMPTY, v.vt);
    EXPECT_EQ('*', cell.GetPasswordChar());
    EXPECT_EQ(S_OK, cell.OnParseText(""));
    EXPECT_EQ(E_INVALIDARG, cell.OnParseText(NULL));
    EXPECT_EQ(CSize(2, 1), cell.OnQueryListItemMargins());
    EXPECT_EQ(CSize(150, 100), cell.OnQueryDropDownSize());
    EXPECT_FALSE(cell.CanIncrement() || cell.CanDecrement() || cell.Increment() || cell.Decrement());
    double lf = 3.5;
    EXPECT_FALSE(cell.GetProportionalExtent(lf));
    EXPECT_EQ(0.0, lf);
    INT n = 9;
    EXPECT_FALSE(cell.GetExtent(n, 0));
    EXPECT_EQ(9, n);
    EXPECT_FALSE(cell.SetExtraSpace(3, true));

    // No colours or font attributes in the root.
    EXPECT_EQ(COLORREF(-1L), cell.TextColorSet(0, RGB(1, 2, 3)));
    EXPECT_EQ(COLORREF(-1L), cell.TextColorGet(0));
    EXPECT_EQ(COLORREF(-1L), cell.BackColorSet(1, RGB(1, 2, 3)));
    EXPECT_EQ(COLORREF(-1L), cell.BackColorGet(1));
    cell.FontWeightSet(700);
    LONG nWeight = 5;
    EXPECT_FALSE(cell.FontWeightGet(nWeight));
    EXPECT_EQ(5, nWeight);
    cell.FontFaceNameSet("Tahoma");
    CString face = "x";
    EXPECT_FALSE(cell.FontFaceNameGet(face));
    EXPECT_STREQ("x", face);
}

TEST(GridCell, IconLookupThroughOwner) {
    IconProvider provider;
    CExtCmdIcon empty;
    provider.icons.push_back(&empty);
    CExtGridCell cell(&provider);
    EXPECT_TRUE(cell.IconGet() == NULL);  // index -1
    EXPECT_EQ(CSize(0, 0), cell.IconGetSize());
    cell.IconIndexSet(1);                  // equal to the count
    EXPECT_TRUE(cell.IconGet() == NULL);
    cell.IconIndexSet(0);
    EXPECT_EQ(&empty, cell.IconGet());
    EXPECT_EQ(CSize(0, 0), cell.IconGetSize());  // an empty icon has no size
    cell.ImageIndexSet(0);
    EXPECT_TRUE(cell.ImageGet() == NULL);  // no second image list
    CExtGridCell orphan;
    orphan.IconIndexSet(0);
    EXPECT_TRUE(orphan.IconGet() == NULL);
}

TEST(GridCell, AssignCopiesFieldsButNotOwner) {
    IconProvider p1, p2;
    CExtGridCell a(&p1), b(&p2);
    a.ModifyStyle(0x100000, 0);
    a.ModifyStyleEx(0x10);
    a.IconIndexSet(2);
    a.ImageIndexSet(7);
    a.SetValue32(0xABCD);
    b.Assign(a);
    EXPECT_EQ(0x40100000u, b.GetStyle());
    EXPECT_EQ(0x10u, b.GetStyleEx());
    EXPECT_EQ(2, b.IconIndexGet());
    EXPECT_EQ(7, b.ImageIndexGet());
    EXPECT_EQ(0xABCDu, b.GetValue32());
    EXPECT_EQ(&p2, b.GetOwner());
}

TEST(GridCell, CompareStylesAndCompare) {
    CExtGridCell a, b;
    a.ModifyStyleEx(0x8);
    EXPECT_EQ(0, a.CompareStyles(b, 0, 0xFFFFFFFF));  // no style mask: nothing compared
    EXPECT_EQ(1, a.CompareStyles(b, 0x1, 0xFFFFFFFF));
    EXPECT_EQ(-1, b.CompareStyles(a, 0x1, 0xFFFFFFFF));
    b.ModifyStyle(0x80000000);
    EXPECT_EQ(-1, a.CompareStyles(b, 0x80000000, 0xFFFFFFFF));  // unsigned order
    EXPECT_EQ(1, b.CompareStyles(a, 0xFFFFFFFF, 0));

    // Two base cells hold no value: the tie goes to the styles.
    CExtGridCell c, d;
    EXPECT_EQ(0, c.Compare(d));
    d.ModifyStyle(0x1);
    EXPECT_EQ(-1, c.Compare(d, 0x1));

    TextCell t1("apple"), t2("banana"), t3("apple");
    EXPECT_LT(t1.Compare(t2), 0);
    EXPECT_GT(t2.Compare(t1), 0);
    EXPECT_EQ(0, t1.Compare(t3));
    t3.ModifyStyle(0x2);
    EXPECT_EQ(-1, t1.Compare(t3, 0x2));

    IntCell i1(5), i2(10), i3(5);
    EXPECT_EQ(-1, i1.Compare(i2));
    EXPECT_EQ(1, i2.Compare(i1));
    EXPECT_EQ(0, i1.Compare(i3));
    // A text cell against a valued one compares values: no text buffer on one side.
    EXPECT_EQ(-1, t1.Compare(i1));  // VT_EMPTY below VT_I4
}

TEST(GridCell, VariantComparison) {
    VARIANT a, b;
    ::VariantInit(&a);
    ::VariantInit(&b);
    a.vt = b.vt = VT_BOOL;
    a.boolVal = VARIANT_TRUE;
    b.boolVal = VARIANT_FALSE;
    EXPECT_EQ(VARCMP_GT, CExtGridCell::stat_VariantCompare(&a, &b));
    b.boolVal = 1;  // any non-zero is true
    EXPECT_EQ(VARCMP_EQ, CExtGridCell::stat_VariantCompare(&a, &b));

    a.vt = b.vt = VT_BSTR;
    a.bstrVal = NULL;
    b.bstrVal = ::SysAllocString(L"");
    EXPECT_EQ(VARCMP_EQ, CExtGridCell::stat_VariantCompare(&a, &b));
    a.bstrVal = ::SysAllocString(L"x");
    EXPECT_EQ(VARCMP_GT, CExtGridCell::stat_VariantCompare(&a, &b));
    ::SysFreeString(b.bstrVal);
    b.bstrVal = ::SysAllocString(L"y");
    EXPECT_EQ(VARCMP_LT, CExtGridCell::stat_VariantCompare(&a, &b));
    ::VariantClear(&a);
    ::VariantClear(&b);

    a.vt = b.vt = VT_UI4;
    a.ulVal = 0x80000000u;
    b.ulVal = 1;
    EXPECT_EQ(VARCMP_GT, CExtGridCell::stat_VariantCompare(&a, &b));
    a.vt = b.vt = VT_I4;
    EXPECT_EQ(VARCMP_LT, CExtGridCell::stat_VariantCompare(&a, &b));

    // By reference, through a VT_VARIANT reference, and a NULL reference reading 0.
    LONG n = 7;
    VARIANT inner;
    inner.vt = VT_I4 | VT_BYREF;
    inner.plVal = &n;
    VARIANT outer;
    outer.vt = VT_VARIANT | VT_BYREF;
    outer.pvarVal = &inner;
    b.vt = VT_I4;
    b.lVal = 7;
    EXPECT_EQ(VARCMP_EQ, CExtGridCell::stat_VariantCompare(&outer, &b));
    inner.plVal = NULL;
    EXPECT_EQ(VARCMP_LT, CExtGridCell::stat_VariantCompare(&outer, &b));

    // Differing types go to the system's comparison.
    a.vt = VT_R8;
    a.dblVal = 7.0;
    EXPECT_EQ(VARCMP_EQ, CExtGridCell::stat_VariantCompare(&a, &b));
    // A null against a value: null when asked, equal by default.
    a.vt = VT_NULL;
    EXPECT_EQ(VARCMP_NULL, CExtGridCell::stat_VariantCompare(&a, &b, LOCALE_USER_DEFAULT, 0, false));
    EXPECT_EQ(VARCMP_EQ, CExtGridCell::stat_VariantCompare(&a, &b));
}

static std::vector<BYTE> StreamBytes(IStream* s) {
    STATSTG st = {};
    s->Stat(&st, STATFLAG_NONAME);
    std::vector<BYTE> out((size_t)st.cbSize.QuadPart);
    LARGE_INTEGER zero = {};
    s->Seek(zero, STREAM_SEEK_SET, NULL);
    ULONG n = 0;
    if (!out.empty()) s->Read(out.data(), (ULONG)out.size(), &n);
    s->Seek(zero, STREAM_SEEK_SET, NULL);
    return out;
}

TEST(GridCell, VariantStreamForm) {
    IStream* s = NULL;
    ASSERT_EQ(S_OK, ::CreateStreamOnHGlobal(NULL, TRUE, &s));
    VARIANT v;
    ::VariantInit(&v);
    v.vt = VT_I4;
    v.lVal = 0x01020304;
    ASSERT_EQ(S_OK, CExtGridCell::stat_VariantSerialize(&v, s, true));
    EXPECT_EQ((std::vector<BYTE>{3, 0, 4, 3, 2, 1}), StreamBytes(s));
    s->Release();

    ASSERT_EQ(S_OK, ::CreateStreamOnHGlobal(NULL, TRUE, &s));
    v.vt = VT_BSTR;
    v.bstrVal = ::SysAllocString(L"ab");
    ASSERT_EQ(S_OK, CExtGridCell::stat_VariantSerialize(&v, s, true));
    ::VariantClear(&v);
    EXPECT_EQ((std::vector<BYTE>{8, 0, 6, 0, 0, 0, 'a', 0, 'b', 0, 0, 0}), StreamBytes(s));
    VARIANT r;
    ::VariantInit(&r);
    ASSERT_EQ(S_OK, CExtGridCell::stat_VariantSerialize(&r, s, false));
    ASSERT_EQ(VT_BSTR, r.vt);
    EXPECT_STREQ(L"ab", r.bstrVal);
    ::VariantClear(&r);
    s->Release();

    // Round trips of fixed-size values, several in one stream.
    ASSERT_EQ(S_OK, ::CreateStreamOnHGlobal(NULL, TRUE, &s));
    VARIANT in[4];
    for (auto& x : in) ::VariantInit(&x);
    in[0].vt = VT_R8; in[0].dblVal = -2.25;
    in[1].vt = VT_I2; in[1].iVal = -3;
    in[2].vt = VT_UI1; in[2].bVal = 200;
    in[3].vt = VT_DATE; in[3].date = 45000.5;
    for (auto& x : in) ASSERT_EQ(S_OK, CExtGridCell::stat_VariantSerialize(&x, s, true));
    LARGE_INTEGER zero = {};
    s->Seek(zero, STREAM_SEEK_SET, NULL);
    for (int i = 0; i < 4; i++) {
        SCOPED_TRACE(i);
        ASSERT_EQ(S_OK, CExtGridCell::stat_VariantSerialize(&r, s, false));
        EXPECT_EQ(in[i].vt, r.vt);
        EXPECT_EQ(VARCMP_EQ, CExtGridCell::stat_VariantCompare(&in[i], &r));
    }
    // The stream is used up: a further read is short.
    EXPECT_EQ(E_FAIL, CExtGridCell::stat_VariantSerialize(&r, s, false));
    s->Release();

    // A string whose count runs past the end of the stream.
    ASSERT_EQ(S_OK, ::CreateStreamOnHGlobal(NULL, TRUE, &s));
    BYTE bad[] = {8, 0, 0x40, 0, 0, 0, 'a', 0};
    s->Write(bad, sizeof(bad), NULL);
    s->Seek(zero, STREAM_SEEK_SET, NULL);
    EXPECT_EQ(E_FAIL, CExtGridCell::stat_VariantSerialize(&r, s, false));
    EXPECT_EQ(E_INVALIDARG, CExtGridCell::stat_VariantSerialize(NULL, s, false));
    EXPECT_EQ(E_INVALIDARG, CExtGridCell::stat_VariantSerialize(&r, NULL, true));
    s->Release();
}

TEST(GridCell, InstancesLiveInTheAllocator) {
    TrackingMalloc malloc;
    EXPECT_TRUE(new (static_cast<IMalloc*>(NULL)) CExtGridCell() == NULL);
    EXPECT_TRUE(CExtGridCell::stat_AllocBlock(0, &malloc) == NULL);
    bool bThrown = false;
    try {
        (void)new (static_cast<IMalloc*>(NULL), true) CExtGridCell();
    } catch (CMemoryException* e) {
        bThrown = true;
        e->Delete();
    }
    EXPECT_TRUE(bThrown);

    CExtGridCell* p = CExtGridCell::InstanceCreate(RUNTIME_CLASS(CExtGridCell), &malloc);
    ASSERT_TRUE(p != NULL);
    EXPECT_EQ(1u, malloc.blocks.size());
    EXPECT_EQ(1u, malloc.blocks.count(p));
    EXPECT_EQ(0x40000000u, p->GetStyle());

    IconProvider provider;
    p->SetOwner(&provider);
    p->ModifyStyle(0x8);
    p->SetValue32(12);
    CExtGridCell* q = p->Clone(&malloc);
    ASSERT_TRUE(q != NULL);
    EXPECT_EQ(2u, malloc.blocks.size());
    EXPECT_EQ(&provider, q->GetOwner());
    EXPECT_EQ(0x40000008u, q->GetStyle());
    EXPECT_EQ(12u, q->GetValue32());

    // A cell made while its drop-down list is tracked clears the tracking pointer.
    CExtGridCell::g_pCellMenuTracking = q;
    CExtGridCell::InstanceDestroy(q, &malloc);
    EXPECT_TRUE(CExtGridCell::g_pCellMenuTracking == NULL);
    CExtGridCell::InstanceDestroy(p, &malloc);
    EXPECT_TRUE(malloc.blocks.empty());

    EXPECT_TRUE(CExtGridCell::InstanceCreate(RUNTIME_CLASS(NotACell), &malloc) == NULL);
    // Without an allocator the framework's heap holds the cell.
    CExtGridCell* h = CExtGridCell::InstanceCreate(RUNTIME_CLASS(CExtGridCell), NULL);
    ASSERT_TRUE(h != NULL);
    delete h;
    malloc.fail = true;
    EXPECT_TRUE(CExtGridCell::InstanceCreate(RUNTIME_CLASS(CExtGridCell), &malloc) == NULL);
    bool thrown = false;
    try {
        CExtGridCell::InstanceCreate(RUNTIME_CLASS(CExtGridCell), &malloc, true);
    } catch (CMemoryException* e) {
        thrown = true;
        e->Delete();
    }
    EXPECT_TRUE(thrown);
    EXPECT_TRUE(malloc.blocks.empty());
}

TEST(GridCell, InstanceSaveAndLoad) {
    TrackingMalloc malloc;
    CExtGridCell cell;
    cell.ModifyStyle(0x00080000 | 0x00010000, 0);
    cell.ModifyStyleEx(0x20);
    cell.IconIndexSet(1);
    cell.ImageIndexSet(2);
    cell.SetValue32(0xDEADBEEF);

    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        EXPECT_TRUE(CExtGridCell::InstanceSave(ar, &cell));
        ar.WriteClass(RUNTIME_CLASS(NotACell));
        ar.Close();
    }
    file.SeekToBegin();
    CArchive ar(&file, CArchive::load);
    CExtGridCell* p = CExtGridCell::InstanceLoad(ar, &malloc);
    ASSERT_TRUE(p != NULL);
    EXPECT_EQ(1u, malloc.blocks.count(p));
    EXPECT_EQ(0x40090000u, p->GetStyle());
    EXPECT_EQ(0x20u, p->GetStyleEx());
    EXPECT_EQ(1, p->IconIndexGet());
    EXPECT_EQ(2, p->ImageIndexGet());
    EXPECT_EQ(0xDEADBEEFu, p->GetValue32());
    EXPECT_TRUE(p->GetOwner() == NULL);
    CExtGridCell::InstanceDestroy(p, &malloc);

    // A class that is not a cell.
    EXPECT_TRUE(CExtGridCell::InstanceLoad(ar, &malloc) == NULL);
    EXPECT_TRUE(malloc.blocks.empty());
}

TEST(GridCell, InstanceLoadOfDamagedStreams) {
    TrackingMalloc malloc;
    // A class name nobody knows.
    {
        CMemFile file;
        BYTE bytes[] = {0xFF, 0xFF, 0, 0, 3, 0, 'X', 'y', 'z'};
        file.Write(bytes, sizeof(bytes));
        file.SeekToBegin();
        CArchive ar(&file, CArchive::load);
        EXPECT_TRUE(CExtGridCell::InstanceLoad(ar, &malloc) == NULL);
    }
    // A cell cut short: the exception comes through and the cell is not left behind.
    {
        CExtGridCell cell;
        auto bytes = testsupport::StoredBytes([&](CArchive& ar) { CExtGridCell::InstanceSave(ar, &cell); });
        CMemFile file;
        file.Write(bytes.data(), (UINT)bytes.size() - 3);
        file.SeekToBegin();
        CArchive ar(&file, CArchive::load);
        bool thrown = false;
        try {
            CExtGridCell::InstanceLoad(ar, &malloc);
        } catch (CException* e) {
            thrown = true;
            e->Delete();
        }
        EXPECT_TRUE(thrown);
        EXPECT_TRUE(malloc.blocks.empty());
    }
}
