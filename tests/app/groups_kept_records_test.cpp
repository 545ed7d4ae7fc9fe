// The kept records in the program's key, at the registry's level: their order however the
// registry lists them, which records a copy leaves to another that runs (a real second
// process), and what two copies do to one section at once: one forgets its records while the
// other keeps one, both claim one record (the platform's calls interleaved where it matters).
#include "main_window_groups_fixture.h"
#include "app/groups_kept.h"
#include "app/groups_store.h"
#include "support/import_patch.h"
#include <gtest/gtest.h>
#include <cstdio>
#include <functional>
#include <set>
#include <thread>
#include <string>
#include <vector>

using namespace mainwindowgroupstest;

namespace {

// What the section holds when records are kept: "Groups" is the mark an earlier build reads.
const std::string kMark("\x05\x00\x00\x80", 4);

// Changes of one group added here, named `name`, beside a group left as the file held it
// (its name and keywords kept apart from the record).
KeptGroups Added(const char* name)
{
    KeptGroups kept;
    kept.base.resize(1);
    kept.base[0].Id = 2;
    kept.base[0].Name = "left";
    kept.baseHereIds.push_back(0);
    KeptGroupChange change;
    change.bHere = true;
    change.here.Name = name;
    kept.changes.push_back(change);
    return kept;
}

// The name of the one group a record adds, or what keeps it from being read.
std::string AddedIn(const std::string& record)
{
    KeptGroups kept;
    std::string why;
    if (ReadKeptGroupChanges(record, &kept, &why) != KeptRead::Read) return "unread: " + why;
    return kept.changes.size() == 1 ? kept.changes[0].here.Name : "changes: " + std::to_string(kept.changes.size());
}

// The bases kept apart from the records; the name of the one a record names.
const std::string kBasesKey = std::string(kKeptChangesKey) + "\\Bases";
size_t Bases() { return mainwindowtest::StoredValues(kBasesKey.c_str()).size(); }
std::string BaseOf(const std::string& record)
{
    const std::string bytes = mainwindowtest::StoredValues(kKeptChangesKey)[record].substr(2);
    return bytes.size() < 8 ? "" : bytes.substr(8, (unsigned char)bytes[4]);
}

// The platform's calls of the section as the program makes them, each replaced while a test
// has a step of its own run inside it.
decltype(&::RegEnumValueA) g_pEnumValue = NULL;
decltype(&::RegSetValueExA) g_pSetValue = NULL;
decltype(&::RegDeleteValueA) g_pDeleteValue = NULL;
std::function<void()> g_atListEnd, g_atRecordWrite, g_atRecordDelete;
bool g_bReversed = false;
// When set, what every index of a listing gives (the key deleted under it), up to 1,000 asks.
LONG g_nEnumFailure = ERROR_SUCCESS;
int g_nEnumAsks = 0;

// The values listed last first when g_bReversed (the registry promises no order); the step
// g_atListEnd run once, when a listing ends.
LONG WINAPI EnumValue(HKEY hKey, DWORD i, LPSTR pName, LPDWORD pcchName, LPDWORD pReserved, LPDWORD pType,
                      LPBYTE pData, LPDWORD pcbData)
{
    if (g_nEnumFailure != ERROR_SUCCESS) return ++g_nEnumAsks > 1000 ? ERROR_NO_MORE_ITEMS : g_nEnumFailure;
    DWORD nValues = 0;
    ::RegQueryInfoKeyA(hKey, NULL, NULL, NULL, NULL, NULL, NULL, &nValues, NULL, NULL, NULL, NULL);
    if (i >= nValues) {
        // What the step writes comes after this listing.
        std::function<void()> step;
        step.swap(g_atListEnd);
        if (step) step();
        return ERROR_NO_MORE_ITEMS;
    }
    if (g_bReversed) i = nValues - 1 - i;
    return g_pEnumValue(hKey, i, pName, pcchName, pReserved, pType, pData, pcbData);
}

// The step g_atRecordWrite run once, just before a record (not the mark) is written.
LONG WINAPI SetValue(HKEY hKey, LPCSTR pName, DWORD dwReserved, DWORD dwType, const BYTE* pData, DWORD cbData)
{
    if (g_atRecordWrite && pName != NULL && lstrcmpiA(pName, "Groups") != 0) {
        std::function<void()> step;
        step.swap(g_atRecordWrite);
        step();
    }
    return g_pSetValue(hKey, pName, dwReserved, dwType, pData, cbData);
}

// The step g_atRecordDelete run once, just before a record is deleted.
LONG WINAPI DeleteValue(HKEY hKey, LPCSTR pName)
{
    if (g_atRecordDelete && pName != NULL && lstrcmpiA(pName, "Groups") != 0) {
        std::function<void()> step;
        step.swap(g_atRecordDelete);
        step();
    }
    return g_pDeleteValue(hKey, pName);
}

class GroupsKeptRecordsTest : public MainWindowGroupsFileTest
{
protected:
    void SetUp() override
    {
        MainWindowGroupsFileTest::SetUp();
        UseProgramKey();
        g_pEnumValue = (decltype(g_pEnumValue))testsupport::PatchImport("advapi32.dll", "RegEnumValueA",
                                                                         (void*)&EnumValue);
        g_pSetValue = (decltype(g_pSetValue))testsupport::PatchImport("advapi32.dll", "RegSetValueExA",
                                                                       (void*)&SetValue);
        g_pDeleteValue = (decltype(g_pDeleteValue))testsupport::PatchImport("advapi32.dll", "RegDeleteValueA",
                                                                             (void*)&DeleteValue);
        ASSERT_TRUE(g_pEnumValue != NULL && g_pSetValue != NULL && g_pDeleteValue != NULL);
    }
    void TearDown() override
    {
        g_atListEnd = nullptr;
        g_atRecordWrite = nullptr;
        g_atRecordDelete = nullptr;
        g_bReversed = false;
        g_nEnumFailure = ERROR_SUCCESS;
        if (g_pEnumValue != NULL) testsupport::PatchImport("advapi32.dll", "RegEnumValueA", (void*)g_pEnumValue);
        if (g_pSetValue != NULL) testsupport::PatchImport("advapi32.dll", "RegSetValueExA", (void*)g_pSetValue);
        if (g_pDeleteValue != NULL)
            testsupport::PatchImport("advapi32.dll", "RegDeleteValueA", (void*)g_pDeleteValue);
        RegistrySandbox::DeleteTree(HKEY_CURRENT_USER, kKeptChangesKey);
        MainWindowGroupsFileTest::TearDown();
    }
};

// Records in the order kept, given out of order: to the order itself, and as the registry's
// listing (last first). The process ids are of no process, so every record taken is any
// copy's.
TEST_F(GroupsKeptRecordsTest, RecordsComeInTheOrderKeptHoweverTheyAreListed)
{
    const struct
    {
        const char* what;
        std::vector<std::string> given;
        std::vector<std::string> kept;  // in the order kept
    } cases[] = {
        {"one half of the time",
         {"Groups 01DA000000000300 0000FFF0", "Groups 01DA000000000100 0000FFF0", "Groups 01DA000000000200 0000FFE0"},
         {"Groups 01DA000000000100 0000FFF0", "Groups 01DA000000000200 0000FFE0", "Groups 01DA000000000300 0000FFF0"}},
        // More than seven minutes apart: the later has the larger high half and the smaller low one.
        {"across a change of the time's high half",
         {"Groups 01DA000100000010 0000FFF0", "Groups 01DA0000FFFFFFF0 0000FFF0"},
         {"Groups 01DA0000FFFFFFF0 0000FFF0", "Groups 01DA000100000010 0000FFF0"}},
        // A record taken to store: one more than the time of the one it was taken from.
        {"taken records and an earlier layout's value",
         {"Groups 01DA000100000000 0000FFF0", "Groups 01DA000000000201 0000FFE0 01DA000000000001", "Groups",
          "Groups 01DA000000000100 0000FFF0", "Groups 01DA000000000200 0000FFD0"},
         {"Groups", "Groups 01DA000000000100 0000FFF0", "Groups 01DA000000000200 0000FFD0",
          "Groups 01DA000000000201 0000FFE0 01DA000000000001", "Groups 01DA000100000000 0000FFF0"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<std::string> names = c.given;
        SortKeptRecordNames(names);
        EXPECT_EQ(c.kept, names);
        RegistrySandbox::DeleteTree(HKEY_CURRENT_USER, kKeptChangesKey);
        // The earlier layout's value holds its changes, not the mark.
        for (const std::string& name : c.given)
            RegistrySandbox::SetBinary(HKEY_CURRENT_USER, kKeptChangesKey, name.c_str(), "x", 1);
        g_bReversed = true;
        EXPECT_EQ(c.kept, KeptRecordNames());
        g_bReversed = false;
    }
    // A record kept now is named with the time now, its high half first.
    FILETIME before = {}, after = {};
    std::string name;
    ::GetSystemTimeAsFileTime(&before);
    ASSERT_TRUE(KeepGroupChanges(Added("g"), &name));
    ::GetSystemTimeAsFileTime(&after);
    ASSERT_EQ(32u, name.size());
    const unsigned long long nTime = std::stoull(name.substr(7, 16), NULL, 16);
    EXPECT_LE(((unsigned long long)before.dwHighDateTime << 32 | before.dwLowDateTime), nTime) << name;
    EXPECT_GE(((unsigned long long)after.dwHighDateTime << 32 | after.dwLowDateTime), nTime) << name;
}

// Copy A forgets its last record (its changes reached the file) while copy B keeps one, once
// A's listing found none left: B's record stays, with the mark an earlier build reads; once
// B's record is forgotten too the section keeps nothing (the key itself may stay). (Copies
// take turns: no record is written between another copy's mark and its record.)
TEST_F(GroupsKeptRecordsTest, ARecordKeptWhileAnotherCopyForgetsItsLastStays)
{
    RegistrySandbox::DeleteTree(HKEY_CURRENT_USER, kKeptChangesKey);
    std::string a, b;
    ASSERT_TRUE(KeepGroupChanges(Added("a"), &a));
    g_atListEnd = [&] { EXPECT_TRUE(KeepGroupChanges(Added("b"), &b)); };
    ForgetKeptRecords({a});
    EXPECT_FALSE(g_atListEnd || g_atRecordWrite) << "the step did not come";
    ASSERT_FALSE(b.empty());
    EXPECT_EQ(std::vector<std::string>{b}, KeptRecordNames());
    EXPECT_EQ("b", AddedIn(b));
    const auto values = mainwindowtest::StoredValues(kKeptChangesKey);
    EXPECT_EQ(2u, values.size());
    EXPECT_EQ("3:" + kMark, values.count("Groups") ? values.at("Groups") : "none") << "the mark";
    ForgetKeptRecords({b});
    EXPECT_FALSE(KeptChangesThere());
    EXPECT_EQ(0u, Bases());
}

// A session's end keeps a keyword the read-only file refused. In its turn it keeps the base
// apart. When another copy keeps the turn past the end's wait (a thread here holds it), a
// start of that copy may remove the bases no record names at any of the keep's writes (it
// does so here at each): the record then holds its base whole, and the start takes nothing
// of it. Either way the next start stores the keyword.
TEST_F(GroupsKeptRecordsTest, AnEndKeptOutsideItsTurnLosesNoPartToAStartMeanwhile)
{
    for (const bool bTurnTaken : {false, true}) {
        SCOPED_TRACE(bTurnTaken ? "another copy keeps the turn" : "the end has its turn");
        RegistrySandbox::DeleteTree(HKEY_CURRENT_USER, kKeptChangesKey);
        WriteGroups(kTwoGroups);
        ClearGroups();
        LoadGroupsFileAndStoreKept();
        ::SetFileAttributesA(m_groupsFile.c_str(), FILE_ATTRIBUTE_READONLY);
        CGroupManager::GetInstance()->FindGroup(3)->AddKeyword("k");
        EXPECT_FALSE(SaveGroupsFile(false));
        HANDLE hHeld = ::CreateEventA(NULL, TRUE, FALSE, NULL), hLetGo = ::CreateEventA(NULL, TRUE, FALSE, NULL);
        std::thread other;
        if (bTurnTaken)
            other = std::thread([&] {
                // The process's own object (not closed here): this thread owns it as another
                // copy would.
                HANDLE hTurn = GroupsTurnObject(GetGroupsFilePath());
                const bool bOwned = hTurn != NULL && ::WaitForSingleObject(hTurn, 10000) == WAIT_OBJECT_0;
                ::SetEvent(hHeld);
                ::WaitForSingleObject(hLetGo, 60000);
                if (bOwned) ::ReleaseMutex(hTurn);
            });
        if (bTurnTaken) ASSERT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(hHeld, 10000));
        int nStarts = 0;
        std::function<void()> start = [&] {
            ++nStarts;
            ForgetLostKeptBases();
            g_atRecordWrite = start;
        };
        if (bTurnTaken) g_atRecordWrite = start;
        CGroupsStore::Instance().EndSession();
        g_atRecordWrite = nullptr;
        ::SetEvent(hLetGo);
        if (other.joinable()) other.join();
        ::CloseHandle(hHeld);
        ::CloseHandle(hLetGo);
        EXPECT_LE(bTurnTaken ? 1 : 0, nStarts) << "no record was written";
        EXPECT_EQ(bTurnTaken ? 0u : 1u, Bases());
        ASSERT_EQ(1u, KeptRecordNames().size());

        ::SetFileAttributesA(m_groupsFile.c_str(), FILE_ATTRIBUTE_NORMAL);
        ClearGroups();
        EXPECT_EQ(FileLines() + kNowHolds, LoadGroupsFileAndStoreKept());
        ExpectFileNodes(GroupsFileOf(GroupElement("Id=\"2\" Name=\"Tools\"", {"corpus"}) +
                                     GroupElement("Id=\"3\" Name=\"Media\"", {"player", "k"})));
        EXPECT_FALSE(KeptChangesThere());
    }
}

// The section deleted under the listing (by an older build, or the user): every index fails
// alike. The listing ends at the first and finds no record.
TEST_F(GroupsKeptRecordsTest, AListingTheKeyFailsAtEveryIndexEndsAtOnce)
{
    std::string a;
    ASSERT_TRUE(KeepGroupChanges(Added("a"), &a));
    g_nEnumAsks = 0;
    g_nEnumFailure = ERROR_KEY_DELETED;
    EXPECT_TRUE(KeptRecordNames().empty());
    EXPECT_EQ(1, g_nEnumAsks);
}

// A stand-in for ::OpenProcess: the process is there, but this user may not look at it.
HANDLE WINAPI OpenRefused(DWORD, BOOL, DWORD)
{
    ::SetLastError(ERROR_ACCESS_DENIED);
    return NULL;
}

// A record another copy took to store, named for a real second process (a helper held
// suspended): left alone by every other copy while that very process runs, any copy's once
// it ended, its id went to another process, or it is a process this user may not look at
// (no copy of this user's program: the record is stored rather than held back unsaid).
TEST_F(GroupsKeptRecordsTest, ARecordTakenIsLeftAloneOnlyWhileItsTakerRuns)
{
    const struct
    {
        const char* what;
        char taker;               // 'r' runs, 'h' ended with a handle to it still open, 'e' ended, 's' this process
        long long nNamedLater;    // added to the taker's start time in the name
        bool bRefused;            // this user may not open the process (the look at it injected)
        bool bLeftAlone;
    } cases[] = {
        {"its taker runs", 'r', 0, false, true},
        {"its taker ended, a handle to it still open", 'h', 0, false, false},
        {"its taker ended", 'e', 0, false, false},
        // The name's process started before the one that has its id now.
        {"its id is another process's now", 'r', -1, false, false},
        {"its id is a process this user may not look at", 'r', 0, true, false},
        {"this copy took it", 's', 0, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        RegistrySandbox::DeleteTree(HKEY_CURRENT_USER, kKeptChangesKey);
        // The taker, ended (and waited for) where the row says, at the latest when the row ends.
        struct Taker
        {
            PROCESS_INFORMATION pi = {};
            void End(bool bClose)
            {
                if (pi.hThread == NULL) return;
                ::TerminateProcess(pi.hProcess, 0);
                EXPECT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(pi.hProcess, 10000));
                if (!bClose) return;
                ::CloseHandle(pi.hProcess);
                ::CloseHandle(pi.hThread);
                pi.hThread = NULL;
            }
            ~Taker() { End(true); }
        } taker;
        PROCESS_INFORMATION& pi = taker.pi;
        pi.hProcess = ::GetCurrentProcess();
        pi.dwProcessId = ::GetCurrentProcessId();
        std::string command = "\"" + mainwindowtest::TestFolder() + "file_holder.exe\"";
        STARTUPINFOA si = {};
        si.cb = sizeof(si);
        if (c.taker != 's')
            ASSERT_TRUE(::CreateProcessA(NULL, &command[0], NULL, NULL, FALSE, CREATE_SUSPENDED, NULL, NULL, &si, &pi));
        FILETIME times[4] = {};
        ASSERT_TRUE(::GetProcessTimes(pi.hProcess, &times[0], &times[1], &times[2], &times[3]));
        const unsigned long long nStarted =
            ((unsigned long long)times[0].dwHighDateTime << 32 | times[0].dwLowDateTime) + c.nNamedLater;
        if (c.taker == 'h' || c.taker == 'e') taker.End(c.taker == 'e');
        // A record kept, then taken under that process's name.
        std::string kept;
        ASSERT_TRUE(KeepGroupChanges(Added("t"), &kept));
        char taken[96];
        sprintf(taken, "%s %08lX %016llX", kept.substr(0, 23).c_str(), pi.dwProcessId, nStarted);
        const std::string record = mainwindowtest::StoredValues(kKeptChangesKey)[kept].substr(2);
        RegistrySandbox::SetBinary(HKEY_CURRENT_USER, kKeptChangesKey, taken, record.data(), (DWORD)record.size());
        ::RegDeleteKeyValueA(HKEY_CURRENT_USER, kKeptChangesKey, kept.c_str());

        EXPECT_EQ(c.bLeftAlone, IsAnotherRunningCopysRecord(taken, c.bRefused ? &OpenRefused : &::OpenProcess));
        if (c.bRefused) continue;
        EXPECT_EQ(c.bLeftAlone ? std::vector<std::string>() : std::vector<std::string>{taken}, KeptRecordNames());
        std::string claimed;
        EXPECT_EQ(!c.bLeftAlone, ClaimKeptRecord(taken, &claimed));
        if (!c.bLeftAlone) EXPECT_EQ("t", AddedIn(claimed));
        ForgetKeptRecords({claimed.empty() ? taken : claimed});
        EXPECT_EQ(c.bLeftAlone, KeptChangesThere()) << "removed by a copy that did not take it";
        // A base no record names, written by that process: a start (in the turn no writer
        // is half-way through) removes it whether its writer runs or not.
        RegistrySandbox::SetBinary(HKEY_CURRENT_USER, kBasesKey, taken, "x", 1);
        JudgeKeptWriteNotes([](const std::string&) { return false; });
        EXPECT_EQ(0u, mainwindowtest::StoredValues(kBasesKey.c_str()).count(taken));
        EXPECT_EQ(c.bLeftAlone ? 1u : 0u, Bases()) << "the record's own base";
    }
}

// Two copies read one record at their starts and each goes to store it: one takes it, also
// when the other's claim comes between the first's copy and its delete, and the record is
// then under the taker's name alone, whole; the other stores nothing of it.
TEST_F(GroupsKeptRecordsTest, OfTwoCopiesThatClaimOneRecordOneTakesIt)
{
    for (const bool bInside : {false, true}) {
        SCOPED_TRACE(bInside ? "B claims it while A deletes it" : "B claims it after A");
        RegistrySandbox::DeleteTree(HKEY_CURRENT_USER, kKeptChangesKey);
        std::string record, a, b;
        ASSERT_TRUE(KeepGroupChanges(Added("t"), &record));
        bool bA = false, bB = false;
        const auto claimB = [&] { bB = ClaimKeptRecord(record, &b); };
        if (bInside) g_atRecordDelete = claimB;
        bA = ClaimKeptRecord(record, &a);
        if (!bInside) claimB();
        EXPECT_FALSE(g_atRecordDelete) << "the step did not come";
        EXPECT_NE(bA, bB) << "A " << bA << ", B " << bB;
        const std::string taker = bA ? a : b;
        EXPECT_EQ(std::vector<std::string>{taker}, KeptRecordNames());
        EXPECT_EQ("t", AddedIn(taker));
        EXPECT_EQ(2u, mainwindowtest::StoredValues(kKeptChangesKey).size()) << "the record and the mark";
        EXPECT_EQ(1u, Bases()) << "the base stays under its name";
    }
}

// A start reads every record it may take, and takes those it merged for itself at once:
// what they hold is written under a name of its own, then each is deleted. A record another
// copy claims between the reading and the delete is that copy's alone: the start merges
// again without it, and this start's forgetting leaves it.
TEST_F(GroupsKeptRecordsTest, AStartTakesForItselfEveryRecordItMerged)
{
    for (const bool bOther : {false, true}) {
        SCOPED_TRACE(bOther ? "another copy claims the first meanwhile" : "alone");
        RegistrySandbox::DeleteTree(HKEY_CURRENT_USER, kKeptChangesKey);
        std::string first, second, other;
        ASSERT_TRUE(KeepGroupChanges(Added("a"), &first) && KeepGroupChanges(Added("b"), &second));
        CKeptRecords records;
        records.TakeAll();
        std::string read;
        for (size_t i = 0; i < records.Count(); ++i) read += records.Changes(i).changes.at(0).here.Name;
        EXPECT_EQ("ab", read);
        // What they hold is stored under this copy's name before a record goes: a copy that
        // dies between leaves it twice, never lost.
        const auto writtenFirst = [&] {
            bool bWritten = false;
            for (const std::string& name : KeptRecordNames())
                bWritten = bWritten || (name.size() == 49u && AddedIn(name) == "ab");
            EXPECT_TRUE(bWritten) << "a record deleted before what it holds was written";
        };
        if (bOther)
            g_atRecordDelete = [&] { EXPECT_TRUE(ClaimKeptRecord(first, &other)); };
        else
            g_atRecordDelete = writtenFirst;
        records.SetMerged(records.Count());
        EXPECT_EQ(!bOther, records.Claim(Added(read.c_str())));
        EXPECT_FALSE(g_atRecordDelete) << "the step did not come";
        if (bOther) {
            // Merged again without it: the second alone, read whole now.
            ASSERT_EQ(1u, records.Count());
            EXPECT_EQ("b", records.Changes(0).changes.at(0).here.Name);
            EXPECT_FALSE(records.Changes(0).baseLean);
            records.SetMerged(1);
            EXPECT_TRUE(records.Claim(Added("b")));
        }
        std::vector<std::string> names = KeptRecordNames();
        char own[16];
        sprintf(own, " %08lX ", ::GetCurrentProcessId());
        ASSERT_EQ(bOther ? 2u : 1u, names.size());
        for (const std::string& name : names) EXPECT_EQ(49u, name.size()) << name << " is not taken";
        for (const std::string& name : names) EXPECT_EQ(own, name.substr(23, 10)) << name;
        // In the place of the first it took, after the other copy's.
        EXPECT_EQ(bOther ? "b" : "ab", AddedIn(names.back()));
        if (bOther) {
            EXPECT_EQ(other, names.front());
        }
        records.Forget();
        EXPECT_EQ(bOther ? std::vector<std::string>{other} : std::vector<std::string>(), KeptRecordNames());
        EXPECT_EQ(bOther ? 1u : 0u, Bases()) << "the bases of the records taken and forgotten";
    }
}

// A record holds the groups its changes name and keeps the others apart: read back it is
// what was kept, the first record whole at once, a later one lean (a group no change names
// holds its Id alone) and then whole. One whose base is gone is told as unreadable and
// goes with the others; bytes that count more than they hold are damaged.
TEST_F(GroupsKeptRecordsTest, ARecordKeptIsReadBackWholeByEitherRoute)
{
    const auto group = [](int nId, const char* name, std::vector<std::string> keywords) {
        GroupEntry entry;
        entry.Id = nId;
        entry.Name = name;
        entry.Keywords = keywords;
        return entry;
    };
    const std::vector<GroupEntry> base = {group(2, "Tools", {"corpus"}), group(3, "Media", {"player"}),
                                          group(4, "Games", {"chess"}), group(5, "Old", {"x"}),
                                          group(7, "Fresh", {"f"})};
    std::vector<GroupEntry> here = base, renamed = base;
    here[0].Keywords.push_back("k");
    here.erase(here.begin() + 3);
    here.push_back(group(9, "New", {"n"}));
    renamed[1].Name = "Films";
    // 7 never written (found by its name), 4 held elsewhere in the file too.
    KeptGroups kept[] = {GroupChangesBetween(base, here, {7}, {4, 11}), GroupChangesBetween(base, renamed, {7}, {4})};
    kept[0].nLargestId = 12;
    kept[0].seen = GivenIds::Of({20}, 0, 0);
    const auto describe = [](const KeptGroups& k) {
        std::string text;
        for (size_t i = 0; i < k.base.size(); ++i) {
            text += std::to_string(k.base[i].Id) + "/" + std::to_string(k.baseHereIds.at(i)) + " " + k.base[i].Name;
            for (const std::string& keyword : k.base[i].Keywords) text += " " + keyword;
            text += "; ";
        }
        for (const KeptGroupChange& c : k.changes) {
            text += "| " + std::to_string(c.nBase) + (c.bHere ? " " + c.here.Name : " gone");
            if (c.nBase < 0) text += " " + std::to_string(c.here.Id);
            for (const std::string& keyword : c.here.Keywords) text += " " + keyword;
        }
        for (int nId : std::set<int>(k.baseOtherIds.begin(), k.baseOtherIds.end())) text += " other " + std::to_string(nId);
        return text + " largest " + std::to_string(k.nLargestId) + (k.seen.Counts(20) ? " seen 20" : "");
    };
    for (const int gone : {-1, 0, 1}) {
        SCOPED_TRACE("the base of record " + std::to_string(gone) + " gone");
        RegistrySandbox::DeleteTree(HKEY_CURRENT_USER, kKeptChangesKey);
        std::string names[2];
        ASSERT_TRUE(KeepGroupChanges(kept[0], &names[0]) && KeepGroupChanges(kept[1], &names[1]));
        ASSERT_EQ(2u, Bases());
        if (gone >= 0) ::RegDeleteKeyValueA(HKEY_CURRENT_USER, kBasesKey.c_str(), BaseOf(names[gone]).c_str());
        CKeptRecords records;
        records.TakeAll();
        ASSERT_EQ(gone < 0 ? 2u : 1u, records.Count());
        EXPECT_EQ(gone < 0 ? "" : "The changes to the groups that could not be stored when the program last ended "
                                  "cannot be read back (the groups they were kept with are gone). They are not "
                                  "stored in the groups file, and are dropped.",
                  records.LostText());
        for (size_t i = 0; i < records.Count(); ++i) {
            EXPECT_EQ(i > 0, records.Changes(i).baseLean);
            EXPECT_EQ(i > 0 ? "" : "Games", records.Changes(i).base[2].Name);
            EXPECT_EQ(describe(kept[gone == 0 ? 1 : i]), describe(records.Whole(i)));
        }
        records.SetMerged(records.Count());
        records.Forget();
        EXPECT_EQ(0u, Bases());
        EXPECT_FALSE(KeptChangesThere());
    }
    auto n = [](DWORD nValue) { return std::string((const char*)&nValue, sizeof(nValue)); };
    const std::string head = n(0x80000006) + n(0) + n(0) + n(0) + n(0) + n(0) + n(0) + n(0);
    for (const std::string& bytes : {head + n(0x7FFFFFFF), head + n(0) + n(0x10000000),
                                     // A group no change names, and no base kept apart.
                                     head + n(1) + n(2) + n(1) + n(0) + n(1) + n(1) + "a" + n(0) + n(0)}) {
        KeptGroups read;
        std::string why;
        EXPECT_EQ(KeptRead::Unreadable,
                  ReadKeptGroupChangesFrom(std::vector<BYTE>(bytes.begin(), bytes.end()), &read, &why));
        EXPECT_EQ("they are cut short or damaged", why);
    }
}

// While records wait, the start's load waits for the window: until it comes, the groups here
// are none of the file's, and neither a save (the window closed at once) nor a session's end
// writes them over the file or keeps them beside the records; no group is made meanwhile.
TEST_F(GroupsKeptRecordsTest, BeforeALoadPutOffNothingIsWrittenOrKept)
{
    WriteGroups(kTwoGroups);
    ClearGroups();
    std::string record;
    ASSERT_TRUE(KeepGroupChanges(Added("a"), &record));
    const auto kept = mainwindowtest::StoredValues(kKeptChangesKey);
    CGroupsStore& store = CGroupsStore::Instance();
    ASSERT_TRUE(store.PutOffLoad());
    EXPECT_FALSE(store.GroupsMayChange());
    EXPECT_FALSE(CUiManager::GetInstance()->ShowGroupEditor(-1));
    mainwindowtest::AddGroup("stray", "kw");
    EXPECT_TRUE(store.Save(false));
    store.EndSession();
    EXPECT_EQ(kTwoGroups, GroupsFile());
    EXPECT_EQ(kept, mainwindowtest::StoredValues(kKeptChangesKey));
    ClearGroups();
    store.Load();
    EXPECT_TRUE(store.GroupsMayChange());
    std::vector<std::string> names;
    for (const GroupEntry& group : CGroupManager::GetInstance()->UserGroups()) names.push_back(group.Name);
    EXPECT_EQ((std::vector<std::string>{"Tools", "Media", "a"}), names);
}

}  // namespace

// A death between a record's delete and its note's leaves the note, and with the last record
// the mark too: the next start forgets both. A note whose record is there stays with it.
TEST_F(GroupsKeptRecordsTest, NotesAndTheMarkADeathLeftGoAtTheNextStart)
{
    const std::string note("\x02\x00\x00\x00", 4);
    std::string kept = "Groups 01D0000000000001 00000001", gone = "Groups 01D0000000000002 00000001";
    ASSERT_TRUE(KeepGroupChanges(Added("a"), &kept));
    ASSERT_TRUE(KeepGroupChanges(Added("b"), &gone));
    for (const std::string& record : {kept, gone})
        RegistrySandbox::SetBinary(HKEY_CURRENT_USER, kKeptChangesKey, KeptWriteNoteName(record).c_str(),
                                   note.data(), (DWORD)note.size());
    ForgetKeptRecords({gone});
    std::set<std::string> names;
    for (const auto& value : mainwindowtest::StoredValues(kKeptChangesKey)) names.insert(value.first);
    ASSERT_EQ((std::set<std::string>{"Groups", kept, KeptWriteNoteName(kept), KeptWriteNoteName(gone)}), names);

    ForgetLostKeptNotes();
    names.clear();
    for (const auto& value : mainwindowtest::StoredValues(kKeptChangesKey)) names.insert(value.first);
    EXPECT_EQ((std::set<std::string>{"Groups", kept, KeptWriteNoteName(kept)}), names);

    // The last record goes, its note and the mark left behind: a start leaves nothing.
    ::RegDeleteKeyValueA(HKEY_CURRENT_USER, kKeptChangesKey, kept.c_str());
    WriteGroups(kTwoGroups);
    ClearGroups();
    EXPECT_EQ("", LoadGroupsFile());
    EXPECT_TRUE(mainwindowtest::StoredValues(kKeptChangesKey).empty());
    EXPECT_EQ(kTwoGroups, GroupsFile());
}
