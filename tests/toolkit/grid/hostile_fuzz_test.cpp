// The mutation run over the readers of this library and the ones it stands on: bitmaps,
// archives of the class library's collections and command trees, image lists, command
// profiles, grid cells and stored VARIANTs. The groups file has its own run in the
// catalogue's tests.
#include <gtest/gtest.h>
#include <shlwapi.h>
#include <stdio.h>
#include <stdlib.h>
#include <functional>
#include <string>
#include <vector>

#include "framework/framework.h"
#include "framework/collections.h"
#include "framework/imagelist.h"
#include "toolkit/core/bitmap.h"
#include "toolkit/core/cmd_profile.h"
#include "toolkit/core/cmd_tree.h"
#include "toolkit/grid/grid_cell.h"
#include "toolkit/grid/grid_data_provider.h"
#include "support/archive_bytes.h"
#include "support/mutation_run.h"
#include "support/bmp_bytes.h"

namespace {

typedef std::vector<BYTE> Bytes;

Bytes Stored(const std::function<void(CArchive&)>& f) { return testsupport::StoredBytes(f); }

using testsupport::MutationLoadArchive;
using testsupport::MutationSwallow;
typedef testsupport::MutationReader Reader;

std::vector<Reader> Readers() {
    return {
        {"bitmap",
         [] {
             std::vector<Bytes> v;
             for (int bpp : {8, 24, 32}) {
                 bmptest::BmpLayout layout;
                 layout.width = 5;
                 layout.height = bpp == 24 ? -3 : 3;
                 layout.bpp = bpp;
                 if (bpp == 8) layout.palette.assign(4, RGBQUAD{1, 2, 3, 0});
                 if (bpp == 8) layout.clrUsed = 4;
                 layout.bits.assign((size_t)CExtBitmap::GetStride(5, bpp) * 3, 0x21);
                 v.push_back(bmptest::Build(layout));
             }
             return v;
         },
         [](const Bytes& b) {
             CExtBitmap bmp;
             bmp.LoadFromBuffer(b.data(), (DWORD)b.size());
             MutationLoadArchive(b, [](CArchive& ar) { CExtBitmap again; again.Serialize(ar); });
         }},
        {"archive",
         [] {
             CObArray arr;
             CStringArray* strings = new CStringArray;
             strings->Add("one");
             strings->Add("two");
             CMapStringToString* map = new CMapStringToString;
             map->SetAt("k", "v");
             CDWordArray* dwords = new CDWordArray;
             dwords->Add(7);
             CExtCustomizeCmdTreeNode* tree = new CExtCustomizeCmdTreeNode(1, 1, NULL, 0, "t", "m");
             tree->InsertNode(NULL, new CExtCustomizeCmdTreeNode(2, 2));
             arr.Add(strings);
             arr.Add(map);
             arr.Add(dwords);
             arr.Add(tree);
             Bytes b = Stored([&](CArchive& ar) { ar << &arr; });
             for (INT_PTR i = 0; i < arr.GetSize(); i++) delete arr[i];
             return std::vector<Bytes>{b};
         },
         [](const Bytes& b) {
             MutationLoadArchive(b, [](CArchive& ar) {
                 CObject* p = ar.ReadObject(NULL);
                 if (CObArray* a = DYNAMIC_DOWNCAST(CObArray, p))
                     for (INT_PTR i = 0; i < a->GetSize(); i++) delete a->GetAt(i);
                 delete p;
             });
         }},
        {"imagelist",
         [] {
             CImageList list;
             list.Create(8, 8, ILC_COLOR32 | ILC_MASK, 2, 2);
             HDC hdc = ::GetDC(NULL);
             HBITMAP h = ::CreateCompatibleBitmap(hdc, 8, 8);
             ::ReleaseDC(NULL, hdc);
             ::ImageList_Add(list.GetSafeHandle(), h, NULL);
             ::DeleteObject(h);
             return std::vector<Bytes>{Stored([&](CArchive& ar) { list.Write(&ar); })};
         },
         [](const Bytes& b) {
             MutationLoadArchive(b, [](CArchive& ar) { CImageList list; list.Read(&ar); });
         }},
        {"profile",
         [] {
             CExtCmdProfile profile("fuzz");
             for (UINT id : {100u, 101u, 102u}) {
                 CExtCmdItem* p = profile.CmdAllocPtr(id);
                 if (p) p->m_sMenuText = "Item";
             }
             return std::vector<Bytes>{Stored([&](CArchive& ar) { profile.SerializeState(ar, true); })};
         },
         [](const Bytes& b) {
             MutationLoadArchive(b, [](CArchive& ar) {
                 CExtCmdProfile profile("fuzz");
                 for (UINT id : {100u, 101u, 102u}) profile.CmdAllocPtr(id);
                 profile.SerializeState(ar, true);
             });
         }},
        {"gridcell",
         [] {
             CExtGridCell cell;
             cell.ModifyStyle(0x00080000, 0);
             cell.SetValue32(0x12345678);
             std::vector<Bytes> v{Stored([&](CArchive& ar) { CExtGridCell::InstanceSave(ar, &cell); })};
             // Every kind of cell as it stores itself with a text set (a header cell keeps
             // its text in its provider's memory).
             CExtGridDataProviderMemory provider;
             for (const char* name :
                  {"CExtGridCellString", "CExtGridCellPassword", "CExtGridCellHeader", "CExtGridCellVariant",
                   "CExtGridCellNumber", "CExtGridCellCurrency", "CExtGridCellPercentage", "CExtGridCellFraction",
                   "CExtGridCellScientific", "CExtGridCellBool", "CExtGridCellCheckBox", "CExtGridCellRadioButton",
                   "CExtGridCellComboBox", "CExtGridCellDropListComboBox", "CExtGridCellFontFaceName",
                   "CExtGridCellUpDown", "CExtGridCellUpDownFontWeight", "CExtGridCellUpDownColorPart",
                   "CExtGridCellUpDownRectPart", "CExtGridCellSlider", "CExtGridCellProgress", "CExtGridCellDateTime",
                   "CExtGridCellIPAddress", "CExtGridCellColor", "CExtGridCellFont", "CExtGridCellHyperLink",
                   "CExtGridCellFile", "CExtGridCellFolder", "CExtGridCellFileImage", "CExtGridCellPicture",
                   "CExtGridCellPictureRef"}) {
                 CRuntimeClass* pClass = CRuntimeClass::FromName(name);
                 CObject* pObject = pClass != NULL ? pClass->CreateObject() : NULL;
                 CExtGridCell* pCell = DYNAMIC_DOWNCAST(CExtGridCell, pObject);
                 if (pCell == NULL) {
                     delete pObject;
                     continue;
                 }
                 pCell->SetOwner(&provider);
                 pCell->TextSet("12");
                 v.push_back(Stored([&](CArchive& ar) { CExtGridCell::InstanceSave(ar, pCell); }));
                 delete pCell;
             }
             return v;
         },
         [](const Bytes& b) {
             MutationLoadArchive(b, [](CArchive& ar) {
                 CExtGridCell* p = CExtGridCell::InstanceLoad(ar, NULL, true);
                 if (p == NULL) return;
                 // What a loaded cell holds reaches its text step (the number cells'
                 // formatting) before anything else of the grid uses it.
                 CString strText;
                 p->TextGet(strText);
                 CExtGridCell::InstanceDestroy(p, NULL);
             });
         }},
        {"variant",
         [] {
             std::vector<Bytes> v;
             VARIANT values[3];
             values[0].vt = VT_I4;
             values[0].lVal = 42;
             values[1].vt = VT_BSTR;
             values[1].bstrVal = ::SysAllocString(L"text");
             values[2].vt = VT_UNKNOWN;
             values[2].punkVal = NULL;
             for (VARIANT& value : values) {
                 IStream* s = NULL;
                 ::CreateStreamOnHGlobal(NULL, TRUE, &s);
                 CExtGridCell::stat_VariantSerialize(&value, s, true);
                 STATSTG st;
                 s->Stat(&st, STATFLAG_NONAME);
                 Bytes b((size_t)st.cbSize.QuadPart);
                 LARGE_INTEGER zero = {};
                 s->Seek(zero, STREAM_SEEK_SET, NULL);
                 s->Read(b.data(), (ULONG)b.size(), NULL);
                 s->Release();
                 ::VariantClear(&value);
                 v.push_back(b);
             }
             return v;
         },
         [](const Bytes& b) {
             IStream* s = ::SHCreateMemStream(b.data(), (UINT)b.size());
             if (!s) return;
             VARIANT v;
             ::VariantInit(&v);
             CExtGridCell::stat_VariantSerialize(&v, s, false);
             ::VariantClear(&v);
             s->Release();
         }},
    };
}

}  // namespace

TEST(HostileFuzz, Child) {
    if (!testsupport::MutationIsChild()) GTEST_SKIP() << "run by HostileFuzz.EveryReaderSurvivesMutations";
    testsupport::MutationChildRun(Readers());
}

TEST(HostileFuzz, EveryReaderSurvivesMutations) {
    if (testsupport::MutationIsChild()) GTEST_SKIP();
    testsupport::MutationParentRun(Readers(), "HostileFuzz.Child");
}
