// The memory of the reading of the groups file that a load or a save keeps for the next
// save, for a file of 2,000 groups of 20 keywords, in private bytes (what the process has
// committed for itself; under Wine that is its resident anonymous memory, PagefileUsage):
// - a bare parse of the file by the document object, as the program reads it (white space
//   kept): the reference;
// - the reading kept after a load and after a save: the private bytes with it less those
//   once it is let go, with the ratio to the bare parse. It should be the document alone;
// - the private bytes every 100 saves over 600 saves of changes that leave the groups as
//   large as they were (a keyword added and taken away, a name changed and back, a keyword
//   changed and back, a group deleted and made again), the reading kept from save to save
//   as the program keeps it, against the same saves with the file parsed afresh for each
//   (the reference): the growth per 100 saves from the 100th on should stand near 0 for
//   both; then the same saves through the program's store, as a run of the program makes
//   them;
// - the document object alone: a group of 20 keywords added to a parsed document and
//   taken out again, so many times, every reference let go: what the document goes on
//   keeping of the nodes taken out of it, until it goes itself.
//
// Usage: bench_groups_kept_memory [saves] [groups]   (default 600 2000)
#include <windows.h>
#include <psapi.h>
#include <cstdio>
#include <string>
#include <vector>
#include "app/groups_store.h"
#include "app/purgelet_app.h"
#include "catalogue/groups_file.h"
#include "support/registry_sandbox.h"
#include "groups_bench.h"
#include "window_bench.h"

namespace {

CWinApp s_app("Nimbo Purgelet");

double PrivateMb() {
    PROCESS_MEMORY_COUNTERS_EX counters = {};
    counters.cb = sizeof(counters);
    GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                         sizeof(counters));
    // Wine fills PagefileUsage only; Windows gives both the same.
    const SIZE_T bytes =
        counters.PrivateUsage > counters.PagefileUsage ? counters.PrivateUsage : counters.PagefileUsage;
    return static_cast<double>(bytes) / (1024.0 * 1024.0);
}

// Lets go the reading kept of the file: the next open finds no file there, then the file
// is put back.
void LetGo(const std::string& path) {
    const std::string aside = path + ".aside";
    MoveFileExA(path.c_str(), aside.c_str(), MOVEFILE_REPLACE_EXISTING);
    {
        CGroupsFile file;
        file.Open(path.c_str());
    }
    MoveFileExA(aside.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING);
}

IXMLDOMDocument* Parse(const std::string& path) {
    IXMLDOMDocument* document = nullptr;
    if (FAILED(CoCreateInstance(CLSID_DOMDocument, nullptr, CLSCTX_ALL, IID_IXMLDOMDocument,
                                reinterpret_cast<void**>(&document))))
        return nullptr;
    document->put_async(VARIANT_FALSE);
    document->put_preserveWhiteSpace(VARIANT_TRUE);
    VARIANT source;
    VariantInit(&source);
    source.vt = VT_BSTR;
    const std::wstring wide(path.begin(), path.end());
    source.bstrVal = SysAllocString(wide.c_str());
    VARIANT_BOOL ok = VARIANT_FALSE;
    document->load(source, &ok);
    VariantClear(&source);
    if (ok != VARIANT_TRUE) {
        document->Release();
        return nullptr;
    }
    return document;
}

// Change s of the series: each change is undone by the next.
void Change(CGroupManager* m, int s, int groups) {
    GroupEntry* group = s / 2 % 4 < 3 ? m->m_Groups[1 + (s / 2 * 37) % groups] : nullptr;
    const bool undo = s % 2 == 1;
    switch (s / 2 % 4) {
    case 0:
        if (undo) group->Keywords.pop_back();
        else group->AddKeyword("added");
        break;
    case 1:
        if (undo) group->Name.resize(group->Name.size() - 8);
        else group->Name += " renamed";
        break;
    case 2:
        if (undo) group->Keywords[3].pop_back();
        else group->Keywords[3] += "x";
        break;
    default: {
        // The group deleted is made again by the next change (under a new Id).
        static GroupEntry s_deleted;
        if (undo) {
            GroupEntry* made = m->CreateGroup();
            made->Name = s_deleted.Name;
            made->Keywords = s_deleted.Keywords;
        } else {
            s_deleted = *m->m_Groups[1];
            m->DeleteGroup(m->m_Groups[1]);
        }
        break;
    }
    }
}

}  // namespace

int main(int argc, char** argv) {
    const int saves = BenchCountArg(argc, argv, 1, 600);
    const int groups = BenchCountArg(argc, argv, 2, 2000);
    const std::string path = GroupsBenchPath("purgelet_bench_kept-" + std::to_string(GetCurrentProcessId()) + ".xml");
    if (!GroupsBenchWriteFile(path, groups, 20, [](int i, int k) {
            return "program " + std::to_string(i) + "-" + std::to_string(k);
        }))
        return 1;
    CoInitialize(nullptr);
    // The reference: the document object's parse of the file, and nothing else.
    double before = PrivateMb();
    IXMLDOMDocument* bare = Parse(path);
    if (!bare) {
        std::printf("the file could not be parsed\n");
        return 1;
    }
    const double bareMb = PrivateMb() - before;
    bare->Release();
    std::printf("%d groups x 20 keywords\n", groups);
    std::printf("bare parse of the file:     %7.2f MB\n", bareMb);

    CGroupManager* m = CGroupManager::GetInstance();
    m->Load(path.c_str());
    before = PrivateMb();
    LetGo(path);
    const double keptLoad = before - PrivateMb();
    std::printf("reading kept after a load:  %7.2f MB (x%.2f of a bare parse)\n", keptLoad, keptLoad / bareMb);
    m->m_Groups[1]->AddKeyword("first");
    m->Save(path.c_str());
    before = PrivateMb();
    LetGo(path);
    const double keptSave = before - PrivateMb();
    std::printf("reading kept after a save:  %7.2f MB (x%.2f of a bare parse)\n", keptSave, keptSave / bareMb);

    testsupport::RegistrySandbox box;
    if (!GroupsBenchStoreSetUp(s_app, box)) return 1;
    const std::string storePath = GetGroupsFilePath();
    const BenchFileKept userFile(storePath);
    const char* const names[3] = {"kept from save to save: ", "parsed afresh each save:", "through the store:      "};
    double perHundred[3] = {0.0, 0.0, 0.0};
    for (int series = 0; series < 3; ++series) {
        const bool fresh = series == 1, store = series == 2;
        // From a save of the same groups: the first reading of the series is there.
        if (store) {
            CopyFileA(path.c_str(), storePath.c_str(), FALSE);
            m->Clear();
            CGroupsStore::Instance().Load();
        } else {
            m->Save(path.c_str());
        }
        if (fresh) LetGo(path);
        std::printf("%s %7.2f MB", names[series], PrivateMb());
        // Counted from the 100th save on: a reading kept holds some of what saves took out
        // of it until it is read afresh, which the first hundred saves fill.
        double at100 = 0.0;
        for (int s = 0; s < saves; ++s) {
            Change(m, s, groups);
            if (!(store ? CGroupsStore::Instance().Save(false) : m->Save(path.c_str()) != FALSE)) {
                std::printf("\nsave %d failed\n", s + 1);
                return 1;
            }
            if (fresh) LetGo(path);
            if ((s + 1) % 100 == 0) std::printf(" %7.2f", PrivateMb());
            if (s + 1 == 100) at100 = PrivateMb();
        }
        perHundred[series] = saves > 100 ? (PrivateMb() - at100) * 1024.0 * 100.0 / (saves - 100) : 0.0;
        std::printf("; %+7.1f KB per 100 saves after the 100th\n", perHundred[series]);
        std::fflush(stdout);
    }
    std::printf("kept against parsed afresh: %+7.1f KB per 100 saves, through the store %+7.1f KB\n",
                perHundred[0] - perHundred[1], perHundred[2] - perHundred[1]);
    m->Clear();
    LetGo(path);
    LetGo(storePath);
    box.RestoreOverrides();
    userFile.Restore();

    // The document object alone.
    IXMLDOMDocument* document = Parse(path);
    IXMLDOMElement* root = nullptr;
    if (!document || FAILED(document->get_documentElement(&root)) || !root) return 1;
    const int rounds = 300;
    before = PrivateMb();
    for (int r = 0; r < rounds; ++r) {
        IXMLDOMElement* group = nullptr;
        BSTR name = SysAllocString(L"Group");
        document->createElement(name, &group);
        SysFreeString(name);
        for (int k = 0; group && k < 20; ++k) {
            IXMLDOMElement* keyword = nullptr;
            BSTR keywordName = SysAllocString(L"Keyword");
            BSTR text = SysAllocString(L"program 1234-12");
            document->createElement(keywordName, &keyword);
            IXMLDOMNode* added = nullptr;
            if (keyword && SUCCEEDED(keyword->put_text(text))) group->appendChild(keyword, &added);
            if (added) added->Release();
            if (keyword) keyword->Release();
            SysFreeString(keywordName);
            SysFreeString(text);
        }
        IXMLDOMNode* added = nullptr;
        IXMLDOMNode* removed = nullptr;
        if (group && SUCCEEDED(root->appendChild(group, &added)) && added) root->removeChild(added, &removed);
        if (removed) removed->Release();
        if (added) added->Release();
        if (group) group->Release();
    }
    const double held = PrivateMb() - before;
    root->Release();
    document->Release();
    const double left = PrivateMb() - before;
    std::printf("document object alone, %d groups of 20 keywords added and taken out again: %+7.1f KB while the "
                "document lives (%.0f bytes per group), %+7.1f KB once it goes\n",
                rounds, held * 1024.0, held * 1024.0 * 1024.0 / rounds, left * 1024.0);
    DeleteFileA(path.c_str());
    return 0;
}
