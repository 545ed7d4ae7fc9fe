// A deterministic mutation run over every reader of files and streams: valid seeds made by
// the writers, then bit flips, truncations and every 16- and 32-bit field set to 0, 1,
// the largest positive and all ones. Each reader runs in a child process (this same test
// program), so a crash or hang fails the test and leaves the input that caused it in
// the working folder. PURGELET_FUZZ_CASES sets the cases per reader (scripts/fuzz.sh).
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
#include "catalogue/groups.h"
#include "toolkit/core/bitmap.h"
#include "toolkit/core/cmd_profile.h"
#include "toolkit/core/cmd_tree.h"
#include "toolkit/grid/grid_cell.h"
#include "support/archive_bytes.h"
#include "tests/toolkit/core/bmp_builder.h"

namespace {

typedef std::vector<BYTE> Bytes;

Bytes Stored(const std::function<void(CArchive&)>& f) { return testsupport::StoredBytes(f); }

void Swallow(const std::function<void()>& f) {
    try {
        f();
    } catch (CException* e) {
        e->Delete();
    } catch (...) {
        // any clean failure is fine; only crashes and hangs count
    }
}

void LoadArchive(const Bytes& b, const std::function<void(CArchive&)>& f) {
    Swallow([&] {
        CMemFile file(const_cast<BYTE*>(b.data()), (UINT)b.size());
        CArchive ar(&file, CArchive::load);
        f(ar);
    });
}

struct Reader {
    const char* name;
    std::function<std::vector<Bytes>()> seeds;
    std::function<void(const Bytes&)> read;
};

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
             LoadArchive(b, [](CArchive& ar) { CExtBitmap again; again.Serialize(ar); });
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
             LoadArchive(b, [](CArchive& ar) {
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
             LoadArchive(b, [](CArchive& ar) { CImageList list; list.Read(&ar); });
         }},
        {"groups",
         [] {
             std::string s = "<?xml version=\"1.0\"?>\n<NimboPurgelet Version=\"1.1\">\n<Purgelet>\n"
                             "<Group Id=\"2\" Name=\"A\">\n<Keyword>x</Keyword>\n</Group>\n</Purgelet>\n</NimboPurgelet>";
             return std::vector<Bytes>{Bytes(s.begin(), s.end())};
         },
         [](const Bytes& b) {
             char path[MAX_PATH];
             ::GetTempPathA(MAX_PATH, path);
             std::string file = std::string(path) + "purgelet_fuzz_groups.xml";
             FILE* f = fopen(file.c_str(), "wb");
             if (!f) return;
             fwrite(b.data(), 1, b.size(), f);
             fclose(f);
             CGroupManager* m = CGroupManager::GetInstance();
             m->Load(file.c_str());
             while (m->m_Groups.size() > 1) m->DeleteGroup(m->m_Groups.back());
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
             LoadArchive(b, [](CArchive& ar) {
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
             return std::vector<Bytes>{Stored([&](CArchive& ar) { CExtGridCell::InstanceSave(ar, &cell); })};
         },
         [](const Bytes& b) {
             LoadArchive(b, [](CArchive& ar) {
                 CExtGridCell* p = CExtGridCell::InstanceLoad(ar, NULL, true);
                 if (p) CExtGridCell::InstanceDestroy(p, NULL);
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

// The nth mutation of a seed, the same in every run.
Bytes Mutate(const Bytes& seed, unsigned n) {
    Bytes b = seed;
    if (b.empty()) return b;
    unsigned x = n * 2654435761u + 12345u;
    const size_t at = (x >> 8) % b.size();
    switch (n % 4) {
    case 0:  // bit flips
        for (unsigned k = 0; k <= (x & 3); k++) b[(at + k * 7) % b.size()] ^= (BYTE)(1u << ((x >> (3 * k)) & 7));
        break;
    case 1:  // a truncation
        b.resize(at);
        break;
    default: {  // a 16- or 32-bit field set to an edge value
        static const DWORD values[] = {0, 1, 0x7FFFFFFF, 0xFFFFFFFF};
        const DWORD v = values[(x >> 4) & 3];
        const size_t width = (n % 4) == 2 ? 2 : 4;
        for (size_t k = 0; k < width && at + k < b.size(); k++)
            b[at + k] = (BYTE)(width == 2 && (v == 0x7FFFFFFF) && k == 1 ? 0x7F : (v >> (8 * k)));
        break;
    }
    }
    return b;
}

unsigned CasesPerReader() {
    const char* s = getenv("PURGELET_FUZZ_CASES");
    unsigned n = s ? (unsigned)strtoul(s, NULL, 10) : 0;
    return n ? n : 500;
}

std::string Here(const char* name) {
    char path[MAX_PATH];
    ::GetCurrentDirectoryA(MAX_PATH, path);
    return std::string(path) + "\\" + name;
}

}  // namespace

// The child: runs one reader over the batch file, writing the case number before each.
TEST(HostileFuzz, Child) {
    const char* childReader = getenv("PURGELET_FUZZ_CHILD");
    if (!childReader) GTEST_SKIP() << "run by HostileFuzz.EveryReaderSurvivesMutations";
    for (const Reader& r : Readers()) {
        if (std::string(r.name) != childReader) continue;
        FILE* in = fopen(Here("fuzz_batch.bin").c_str(), "rb");
        ASSERT_TRUE(in != NULL);
        HANDLE progress = ::CreateFileA(Here("fuzz_progress.txt").c_str(), GENERIC_WRITE, FILE_SHARE_READ, NULL,
                                        CREATE_ALWAYS, 0, NULL);
        DWORD size = 0;
        for (unsigned i = 0; fread(&size, 4, 1, in) == 1; i++) {
            Bytes b(size);
            if (size && fread(b.data(), 1, size, in) != size) break;
            DWORD written;
            ::SetFilePointer(progress, 0, NULL, FILE_BEGIN);
            ::WriteFile(progress, &i, sizeof(i), &written, NULL);
            r.read(b);
        }
        ::CloseHandle(progress);
        fclose(in);
    }
}

TEST(HostileFuzz, EveryReaderSurvivesMutations) {
    if (getenv("PURGELET_FUZZ_CHILD")) GTEST_SKIP();
    char exe[MAX_PATH];
    ::GetModuleFileNameA(NULL, exe, MAX_PATH);
    const unsigned nCases = CasesPerReader();
    for (const Reader& r : Readers()) {
        SCOPED_TRACE(r.name);
        std::vector<Bytes> seeds = r.seeds();
        std::vector<Bytes> cases;
        for (unsigned n = 0; n < nCases; n++) cases.push_back(Mutate(seeds[n % seeds.size()], n / seeds.size()));
        FILE* out = fopen(Here("fuzz_batch.bin").c_str(), "wb");
        ASSERT_TRUE(out != NULL);
        for (const Bytes& b : cases) {
            DWORD size = (DWORD)b.size();
            fwrite(&size, 4, 1, out);
            if (size) fwrite(b.data(), 1, size, out);
        }
        fclose(out);
        ::DeleteFileA(Here("fuzz_progress.txt").c_str());

        ::SetEnvironmentVariableA("PURGELET_FUZZ_CHILD", r.name);
        std::string command = std::string("\"") + exe + "\" --gtest_filter=HostileFuzz.Child";
        STARTUPINFOA si = {};
        si.cb = sizeof(si);
        PROCESS_INFORMATION pi = {};
        ASSERT_TRUE(::CreateProcessA(NULL, &command[0], NULL, NULL, FALSE, 0, NULL, NULL, &si, &pi));
        ::SetEnvironmentVariableA("PURGELET_FUZZ_CHILD", NULL);
        DWORD wait = ::WaitForSingleObject(pi.hProcess, 10 * 60 * 1000);
        if (wait != WAIT_OBJECT_0) ::TerminateProcess(pi.hProcess, 0xDEAD);
        DWORD code = 0;
        ::GetExitCodeProcess(pi.hProcess, &code);
        ::CloseHandle(pi.hThread);
        ::CloseHandle(pi.hProcess);
        if (code == 0) continue;

        unsigned failed = 0;
        FILE* p = fopen(Here("fuzz_progress.txt").c_str(), "rb");
        if (p) {
            if (fread(&failed, sizeof(failed), 1, p) != 1) failed = 0;
            fclose(p);
        }
        std::string name = Here((std::string("fuzz_failure_") + r.name + "_" + std::to_string(failed) + ".bin").c_str());
        FILE* f = fopen(name.c_str(), "wb");
        if (f && failed < cases.size()) fwrite(cases[failed].data(), 1, cases[failed].size(), f);
        if (f) fclose(f);
        ADD_FAILURE() << "the reader ended with 0x" << std::hex << code << std::dec << " on case " << failed
                      << (wait != WAIT_OBJECT_0 ? " (hung)" : "") << "; input written to " << name;
    }
}
