// The groups' part of a start with changes kept at the last end, against a plain start,
// on a file of 2,000 groups of 20 keywords: the store's load as the groups pane runs it
// when it opens, before the list's first fill. A plain start parses the file once. A start
// with kept changes parses it once too, takes the kept changes (in time that grows with
// their number, not with their number times the groups) and merges them into what the
// file holds, so that the list shows them; the file takes them once the window is up
// (StoreKept), written into the load's reading of the file as every save is written.
// The figures: the median of the rounds for a plain start, for the save of one change made
// after it, and for a start with 1 and with every group changed, each with its ratio to
// the plain start, then the store that follows the list, and the two together; last a start
// with every group changed over [records] records (each end kept the changes of its share
// of the groups, on the file as it was), the store that follows, and the two together
// against the same changes kept in one record: the records are merged in the order kept
// and written once, so that ratio stands near 1. The kinds take turns round by round.
//
// Usage: bench_groups_kept_start [groups] [keywords] [rounds] [records]   (default 2000 20 7 100)
#include <windows.h>
#include <cstdio>
#include <string>
#include <vector>
#include "app/groups_kept.h"
#include "app/groups_store.h"
#include "app/purgelet_app.h"
#include "support/registry_sandbox.h"
#include "bench/groups_bench.h"
#include "bench/window_bench.h"

namespace {

CWinApp s_app("Nimbo Purgelet");

// The bench's file, each round with a comment of another length in front of its groups: a
// load keeps its reading for the next load of the same bytes, and every round is to parse.
std::string FileText(int groups, int keywords, int round)
{
    std::string text = GroupsBenchHead;
    text += "<!-- " + std::string(round + 1, 'r') + " -->\n";
    for (int i = 0; i < groups; ++i) {
        text += "<Group Id=\"" + std::to_string(i + 2) + "\" Name=\"Group " + std::to_string(i) + "\">\n";
        for (int k = 0; k < keywords; ++k) text += "<Keyword>word" + std::to_string(i * keywords + k) + "</Keyword>\n";
        text += "</Group>\n";
    }
    return text + GroupsBenchTail;
}

// The changes a run kept whose groups from `first` to `changed` each got a keyword more.
KeptGroups KeptChanges(int groups, int keywords, int changed, int first = 0)
{
    std::vector<GroupEntry> base, here;
    for (int i = 0; i < groups; ++i) {
        GroupEntry group;
        group.Id = i + 2;
        group.Name = "Group " + std::to_string(i);
        for (int k = 0; k < keywords; ++k) group.Keywords.push_back("word" + std::to_string(i * keywords + k));
        base.push_back(group);
        if (i >= first && i < changed) group.Keywords.push_back("kept" + std::to_string(i));
        here.push_back(group);
    }
    return GroupChangesBetween(base, here, std::set<int>(), std::vector<int>());
}

}  // namespace

int main(int argc, char** argv)
{
    const int groups = BenchCountArg(argc, argv, 1, 2000);
    const int keywords = BenchCountArg(argc, argv, 2, 20);
    const int rounds = BenchCountArg(argc, argv, 3, 7);
    const int records = BenchCountArg(argc, argv, 4, 100);
    testsupport::RegistrySandbox box;
    if (!GroupsBenchStoreSetUp(s_app, box)) return 1;
    const std::string path = GetGroupsFilePath();
    const BenchFileKept userFile(path);
    const int changedCounts[] = {0, 1, groups, groups};
    const KeptGroups kept[] = {KeptGroups(), KeptChanges(groups, keywords, 1), KeptChanges(groups, keywords, groups)};
    // Each record's share of the groups, kept in the order of its name.
    std::vector<KeptGroups> spread;
    for (int k = 0; k < records; ++k)
        spread.push_back(KeptChanges(groups, keywords, (int)((long long)groups * (k + 1) / records),
                                     (int)((long long)groups * k / records)));
    std::vector<double> ms[4], saveMs, storeMs[4], wholeMs[4];
    bool stored[4] = {true, true, true, true};
    for (int r = 0; r < rounds; ++r) {
        for (int kind = 0; kind < 4; ++kind) {
            GroupsBenchWrite(path, FileText(groups, keywords, r * 4 + kind));
            CGroupManager::GetInstance()->Clear();
            if (kind < 3) KeepGroupChanges(kept[kind]);
            for (int k = 0; kind == 3 && k < records; ++k) {
                char name[64];
                std::snprintf(name, sizeof(name), "Groups %016llX %08lX", 0x01D0000000000000ull + k,
                              (unsigned long)::GetCurrentProcessId());
                std::string recordName = name;
                KeepGroupChanges(spread[k], &recordName);
            }
            const double t0 = BenchNow();
            std::string told = CGroupsStore::Instance().Load();
            const double t1 = BenchNow();
            told += CGroupsStore::Instance().StoreKept();
            ms[kind].push_back((t1 - t0) * 1000.0);
            storeMs[kind].push_back((BenchNow() - t1) * 1000.0);
            wholeMs[kind].push_back((BenchNow() - t0) * 1000.0);
            // Every kept change is in the list, and the file holds them (the box says so).
            const std::vector<GroupEntry> loaded = CGroupManager::GetInstance()->UserGroups();
            const bool bTold = kind == 0 ? told.empty() : told.find("now holds") != std::string::npos;
            bool bAll = bTold && (int)loaded.size() == groups;
            for (int i = 0; bAll && i < changedCounts[kind]; ++i)
                bAll = loaded[i].Keywords.size() == (size_t)keywords + 1;
            stored[kind] = stored[kind] && bAll;
            if (kind != 0) continue;
            // Beside them, what a change made in the running program costs to save.
            CGroupManager::GetInstance()->m_Groups[1]->AddKeyword("saved");
            const double t2 = BenchNow();
            stored[0] = CGroupsStore::Instance().Save(false) && stored[0];
            saveMs.push_back((BenchNow() - t2) * 1000.0);
        }
    }
    const double plain = BenchMedian(ms[0]);
    std::printf("%d groups of %d keywords, median of %d rounds\n", groups, keywords, rounds);
    std::printf("plain start:                 %8.1f ms\n", plain);
    std::printf("a change's save after it:    %8.1f ms (x%.2f)\n", BenchMedian(saveMs), BenchMedian(saveMs) / plain);
    for (int kind = 1; kind < 4; ++kind) {
        if (kind == 3)
            std::printf("the %d changes over %d records:\n", groups, records);
        std::printf("start with %5d kept changes: %8.1f ms (x%.2f of a plain start)%s\n", changedCounts[kind],
                    BenchMedian(ms[kind]), BenchMedian(ms[kind]) / plain, stored[kind] ? "" : "  NOT STORED");
        std::printf("  then stored in the file:   %8.1f ms; load and store %8.1f ms (x%.2f)\n",
                    BenchMedian(storeMs[kind]), BenchMedian(wholeMs[kind]), BenchMedian(wholeMs[kind]) / plain);
    }
    std::printf("%d records against one: start x%.2f, load and store x%.2f\n", records,
                BenchMedian(ms[3]) / BenchMedian(ms[2]), BenchMedian(wholeMs[3]) / BenchMedian(wholeMs[2]));
    CGroupManager::GetInstance()->Clear();
    KeepGroupChanges(KeptGroups());
    box.RestoreOverrides();
    userFile.Restore();
    return stored[0] && stored[1] && stored[2] && stored[3] ? 0 : 1;
}
