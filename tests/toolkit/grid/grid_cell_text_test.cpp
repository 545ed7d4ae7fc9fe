#include <gtest/gtest.h>
#include <functional>
#include <memory>
#include <string>
#include <vector>
#include "framework/framework.h"
#include "toolkit/grid/grid_cell_string.h"
#include "toolkit/grid/grid_cell_variant.h"
#include "toolkit/grid/grid_data_provider.h"
#include "toolkit/grid/grid_wnd.h"
#include "support/archive_bytes.h"
#include "typed_cell_test_util.h"

namespace {

using typedcells::Builder;
using typedcells::Bytes;
using typedcells::I4;
using typedcells::Load;

typedef std::function<CExtGridCell*(CExtGridDataProvider*)> Factory;

}  // namespace

TEST(GridTextCells, TextAndArchiveByteForByte) {
    const int nExtent = ::GetSystemMetrics(SM_CYHSCROLL) + 1;
    struct Case {
        const char* name;
        Factory make;
        const char* text;
        Bytes expected;
    } cases[] = {
        {"string", [](CExtGridDataProvider* p) { return new CExtGridCellString(p); }, "ab",
         Builder().ex().raw({2, 'a', 'b'}).b},
        {"password", [](CExtGridDataProvider* p) { return new CExtGridCellPassword(p); }, "pw",
         Builder().ex().raw({2, 'p', 'w'}).b},
        {"string in provider memory", [](CExtGridDataProvider* p) { return new CExtGridCellStringDM(p); }, "ab",
         Builder().root(0x40000000).raw({2, 'a', 'b'}).b},
        {"empty string in provider memory", [](CExtGridDataProvider* p) { return new CExtGridCellStringDM(p); }, "",
         Builder().root(0x40000000).by(0).b},
        {"header", [](CExtGridDataProvider* p) { return new CExtGridCellHeader(p); }, "H",
         Builder().root(0x40000008).raw({1, 'H'}).dw(nExtent).dw(0).dw(32767).dw(0).dw(0)
             .raw({0, 0, 0, 0, 0, 0, 0xE0, 0x3F}).colours().fonts().b},
        {"variant number", [](CExtGridDataProvider* p) { VARIANT v = I4(42); return new CExtGridCellVariant(v, p); },
         "42", Builder().ex().w(VT_I4).dw(42).b},
        {"variant text", [](CExtGridDataProvider* p) {
             CExtGridCellVariant* c = new CExtGridCellVariant(p);
             c->TextSet("ab", true);
             return c;
         }, "ab", Builder().ex().w(VT_BSTR).dw(6).raw({'a', 0, 'b', 0, 0, 0}).b},
        {"variant empty", [](CExtGridDataProvider* p) { return new CExtGridCellVariant(p); }, "",
         Builder().ex().w(VT_EMPTY).dw(2).w(0).b},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CExtGridDataProviderMemory dp;
        std::unique_ptr<CExtGridCell> cell(c.make(&dp));
        if (!cell->IsKindOf(RUNTIME_CLASS(CExtGridCellVariant))) cell->TextSet(c.text);
        CString s;
        cell->TextGet(s);
        EXPECT_STREQ(c.text, s);
        EXPECT_EQ(*c.text == 0, cell->IsEmpty());
        Bytes stored = testsupport::StoredBytes([&](CArchive& ar) { cell->Serialize(ar); });
        EXPECT_EQ(c.expected, stored);

        std::unique_ptr<CExtGridCell> back(c.make(&dp));
        back->TextSet("old", true);
        Load(*back, stored);
        back->TextGet(s);
        EXPECT_STREQ(c.text, s);
        EXPECT_EQ(0, back->Compare(*cell, 0xFFFFFFFF, 0xFFFFFFFF));
        EXPECT_EQ(stored, testsupport::StoredBytes([&](CArchive& ar) { back->Serialize(ar); }));

        // A value marked undefined shows no text but keeps and compares by its own.
        cell->ModifyStyleEx(CExtGridCell::__EGCS_EX_UNDEFINED_ROLE);
        cell->TextGet(s);
        EXPECT_STREQ("", s);
        std::unique_ptr<CExtGridCell> clone(cell->Clone());
        EXPECT_EQ(cell->GetRuntimeClass(), clone->GetRuntimeClass());
        clone->ModifyStyleEx(0, CExtGridCell::__EGCS_EX_UNDEFINED_ROLE);
        clone->TextGet(s);
        EXPECT_STREQ(c.text, s);
    }
}

TEST(GridTextCells, DamagedArchiveIsRefused) {
    struct Case {
        const char* name;
        Factory make;
        Bytes bytes;
    } cases[] = {
        {"string length past the end", [](CExtGridDataProvider* p) { return new CExtGridCellString(p); },
         Builder().ex().by(0xFF).w(0xFFFF).dw(0x7FFFFFF0).raw({'a', 'b'}).b},
        {"string cut short", [](CExtGridDataProvider* p) { return new CExtGridCellString(p); },
         Builder().ex().raw({5, 'a', 'b'}).b},
        {"provider string length past the end", [](CExtGridDataProvider* p) { return new CExtGridCellStringDM(p); },
         Builder().root(0).by(0xFF).w(0xFFFF).dw(0xFFFFFFF0).b},
        {"header wide length past the end", [](CExtGridDataProvider* p) { return new CExtGridCellHeader(p); },
         Builder().root(0).by(0xFF).w(0xFFFE).by(0xFF).w(0xFFFF).dw(0x40000000).raw({'a', 0}).b},
        {"variant text count past the end", [](CExtGridDataProvider* p) { return new CExtGridCellVariant(p); },
         Builder().ex().w(VT_BSTR).dw(0x7FFFFFF0).raw({'a', 0}).b},
        {"variant odd text count", [](CExtGridDataProvider* p) { return new CExtGridCellVariant(p); },
         Builder().ex().w(VT_BSTR).dw(3).raw({'a', 0, 0}).b},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CExtGridDataProviderMemory dp;
        std::unique_ptr<CExtGridCell> cell(c.make(&dp));
        bool bRefused = false;
        try {
            Load(*cell, c.bytes);
        } catch (CArchiveException* e) {
            bRefused = true;
            e->Delete();
        }
        EXPECT_TRUE(bRefused);
    }
}

TEST(GridTextCells, CompareAssignAndOwnerlessText) {
    CExtGridDataProviderMemory dp, dp2;
    auto pw = [](const char* s) { auto* c = new CExtGridCellPassword; c->TextSet(s); return c; };
    auto str = [](const char* s) { auto* c = new CExtGridCellString; c->TextSet(s); return c; };
    auto var = [](LONG n) { VARIANT v = I4(n); return new CExtGridCellVariant(v); };
    struct Case {
        const char* name;
        CExtGridCell *a, *b;
        int expected;
    } cases[] = {
        {"longer password", pw("abc"), pw("ab"), 1},
        {"password text order", pw("abd"), pw("abc"), 1},
        {"password and string", pw("a"), str("b"), 0},
        {"string order", str("a"), str("b"), -1},
        {"string case", str("B"), str("a"), -1},
        {"variant numbers", var(2), var(10), -1},
        {"variant equal", var(7), var(7), 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.expected, c.a->Compare(*c.b));
        delete c.a;
        delete c.b;
    }

    // Assigning from a cell of another kind takes its text, or none.
    CExtGridCellString s;
    s.TextSet("x");
    CExtGridCell plain;
    s.Assign(plain);
    EXPECT_TRUE(s.IsEmpty());
    CExtGridCellVariant v;
    CExtGridCellStringDM dm(&dp);
    dm.TextSet("12");
    v.Assign(dm);
    EXPECT_EQ(VT_BSTR, v.vt);

    // Without an owner provider the text has nowhere to live.
    CExtGridCellStringDM orphan;
    bool bThrown = false;
    try {
        orphan.TextSet("t");
    } catch (CMemoryException* e) {
        bThrown = true;
        e->Delete();
    }
    EXPECT_TRUE(bThrown);
    orphan.Reset();
    // The password cell's editor hides its text; an empty VARIANT opens no editor.
    CExtGridWnd wndGrid;
    CExtGridCellPassword pwCell;
    bool bReadOnly = false, bPassword = false;
    pwCell.OnInplaceControlQueryOptions(wndGrid, NULL, 0, 0, 0, 0, 0, 0, 0x200, &bReadOnly, &bPassword, NULL, NULL);
    EXPECT_TRUE(bPassword);
    EXPECT_FALSE(bReadOnly);
    CExtGridCellVariant empty;
    CRect rc(0, 0, 10, 10);
    EXPECT_TRUE(empty.OnInplaceControlCreate(wndGrid, 0, 0, 0, 0, 0, 0, rc, rc, rc, -1, -1) == NULL);
    // Moving to another provider takes the text along.
    dm.SetOwner(&dp2);
    CString t;
    dm.TextGet(t);
    EXPECT_STREQ("12", t);
}

TEST(GridTextCells, VariantTextStepsAndParsing) {
    struct Case {
        const char* name;
        VARTYPE vt;
        LONGLONG value;
        bool bReadOnly;
        bool bCanUp, bCanDown;
        const char* afterUp;
    } cases[] = {
        {"short at its maximum", VT_I2, 32767, false, false, true, "32767"},
        {"byte at zero", VT_UI1, 0, false, true, false, "1"},
        {"long", VT_I4, -5, false, true, true, "-4"},
        {"read-only", VT_I4, 1, true, false, false, "1"},
        {"64-bit", VT_I8, 41, false, true, true, "42"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        VARIANT v;
        ::VariantInit(&v);
        v.vt = c.vt;
        v.llVal = c.value;
        if (c.vt == VT_I2) v.iVal = (SHORT)c.value;
        if (c.vt == VT_UI1) v.bVal = (BYTE)c.value;
        if (c.vt == VT_I4) v.lVal = (LONG)c.value;
        CExtGridCellVariant cell(v);
        if (c.bReadOnly) cell.ModifyStyle(CExtGridCell::__EGCS_READ_ONLY);
        EXPECT_EQ(c.bCanUp, cell.CanIncrement());
        EXPECT_EQ(c.bCanDown, cell.CanDecrement());
        cell.Increment();
        CString s;
        cell.TextGet(s);
        EXPECT_STREQ(c.afterUp, s);
        EXPECT_EQ(c.vt, cell.vt);
    }

    VARIANT v = I4(5);
    CExtGridCellVariant cell(v);
    EXPECT_EQ(S_OK, cell.OnParseText("17"));
    EXPECT_NE(S_OK, cell.OnParseText("seventeen"));
    EXPECT_EQ(E_INVALIDARG, cell.OnParseText(NULL));
    cell.TextSet("17");
    EXPECT_EQ(VT_I4, cell.vt);
    EXPECT_EQ(17, cell.lVal);
    cell.TextSet("17", true);
    EXPECT_EQ(VT_BSTR, cell.vt);
    EXPECT_EQ(0u, cell.OnQueryDrawTextFlags(true, false, false) & DT_RIGHT);
    cell.TextSet("8");
    VARIANT vOut;
    ::VariantInit(&vOut);
    cell.VariantGet(&vOut);
    EXPECT_EQ(VT_BSTR, vOut.vt);
    ::VariantClear(&vOut);
    CExtGridCellVariant number(v);
    EXPECT_NE(0u, number.OnQueryDrawTextFlags(true, false, false) & DT_RIGHT);
}

// Over an OLE stream file the VARIANT goes to the stream itself, in its place between
// what the archive writes before and after it.
TEST(GridTextCells, VariantThroughTheArchivesOwnStream) {
    COleStreamFile file;
    ASSERT_TRUE(file.CreateMemoryStream());
    CExtGridCellVariant cell;
    cell.TextSet("value", true);
    {
        CArchive ar(&file, CArchive::store);
        ar << (DWORD)7;
        cell.Serialize(ar);
        ar << (DWORD)9;
        ar.Close();
    }
    file.SeekToBegin();
    CArchive ar(&file, CArchive::load);
    DWORD dwBefore = 0, dwAfter = 0;
    CExtGridCellVariant back;
    ar >> dwBefore;
    back.Serialize(ar);
    ar >> dwAfter;
    EXPECT_EQ(7u, dwBefore);
    EXPECT_EQ(9u, dwAfter);
    CString s;
    back.TextGet(s);
    EXPECT_STREQ("value", s);

    COleStreamFile empty;
    CArchive arNone(&empty, CArchive::store);
    bool bRefused = false;
    try {
        cell.Serialize(arNone);
    } catch (CArchiveException* e) {
        bRefused = true;
        e->Delete();
    }
    EXPECT_TRUE(bRefused);
    arNone.Abort();
}

// Cells whose text lives in provider memory read back through the cell reader, which
// gives them no provider: the text stays with the cell, goes with its clones, and moves
// into the provider's memory when the cell gets an owner.
TEST(GridTextCells, StoredProviderTextReadsBackWithoutAProvider) {
    CRuntimeClass* kinds[] = {RUNTIME_CLASS(CExtGridCellStringDM), RUNTIME_CLASS(CExtGridCellHeader)};
    for (CRuntimeClass* pClass : kinds) {
        SCOPED_TRACE(pClass->m_lpszClassName);
        CExtGridDataProviderMemory dp;
        std::unique_ptr<CExtGridCell> cell((CExtGridCell*)pClass->CreateObject());
        cell->SetOwner(&dp);
        cell->TextSet("Name");
        Bytes stored = testsupport::StoredBytes([&](CArchive& ar) { CExtGridCell::InstanceSave(ar, cell.get()); });
        CMemFile file;
        file.Write(stored.data(), (UINT)stored.size());
        file.SeekToBegin();
        CArchive ar(&file, CArchive::load);
        CExtGridCell* pBack = CExtGridCell::InstanceLoad(ar, NULL, true);
        ASSERT_TRUE(pBack != NULL);
        EXPECT_EQ(pClass, pBack->GetRuntimeClass());
        EXPECT_TRUE(pBack->GetOwner() == NULL);
        CString s;
        pBack->TextGet(s);
        EXPECT_STREQ("Name", s);
        std::unique_ptr<CExtGridCell> clone(pBack->Clone());
        clone->TextGet(s);
        EXPECT_STREQ("Name", s);
        pBack->SetOwner(&dp);
        pBack->TextGet(s);
        EXPECT_STREQ("Name", s);
        EXPECT_LT(0, (int)dp.GetCellAllocator()->DidAlloc((void*)pBack->GetTextBuffer()));
        CExtGridCell::InstanceDestroy(pBack, NULL);
        // Without an owner a text can still be dropped.
        clone->TextSet(NULL);
        EXPECT_TRUE(clone->IsEmpty());
    }
}
