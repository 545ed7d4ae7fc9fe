// Ids across runs of the program's store: every change is saved as the program saves it,
// each run reads the file afresh, and no Id the file ever held is given again, also where
// Ids are given downwards from the largest the reader takes and below the top half.
#include "held_file.h"
#include "main_window_groups_fixture.h"
#include "app/groups_kept.h"
#include "app/groups_store.h"
#include "catalogue/groups.h"
#include "catalogue/groups_file.h"
#include <gtest/gtest.h>
#include <algorithm>
#include <functional>
#include <iterator>
#include <random>
#include <set>
#include <string>
#include <vector>

using namespace mainwindowgroupstest;

namespace {

class GroupsStoreIdsTest : public MainWindowGroupsFileTest
{
protected:
    // A new run of the program: the groups model empty, the store reads the file.
    void StartRun()
    {
        ClearGroups();
        EXPECT_EQ("", LoadGroupsFile());
        for (const GroupEntry& group : CGroupManager::GetInstance()->UserGroups())
            if (!IsRunOnlyId(group.Id)) m_given.insert(group.Id);
    }
    // A new group, saved as the editor's Apply saves it: its Id is none the file ever held
    // nor one its record counted as given before (m_givenBefore), or, when the file counts
    // every Id as given, one for the run only, and the file holds the group without an Id.
    int New(const std::string& step)
    {
        GroupEntry* pGroup = CGroupManager::GetInstance()->CreateGroup();
        pGroup->Name = "g" + std::to_string(++m_nMade);
        const int nId = pGroup->Id;
        EXPECT_TRUE(SaveGroupsFile(false)) << step;
        if (IsRunOnlyId(nId)) {
            EXPECT_NE(std::string::npos, GroupsFile().find("<Group Name=\"" + pGroup->Name + "\"")) << step;
        } else {
            EXPECT_TRUE(m_given.insert(nId).second && !(m_givenBefore && m_givenBefore(nId)))
                << step << ": " << nId << " given again\n" << GroupsFile();
        }
        m_nLastMade = nId;
        return nId;
    }
    void Delete(int nId, const std::string& step)
    {
        CGroupManager* pGroups = CGroupManager::GetInstance();
        ASSERT_TRUE(pGroups->FindGroup(nId) != NULL) << step << ": " << nId;
        pGroups->DeleteGroup(pGroups->FindGroup(nId));
        EXPECT_TRUE(SaveGroupsFile(false)) << step;
    }

    // The bytes of the value `name` of the kept changes (one end's record, or "Groups": what an
    // earlier build reads).
    static std::string KeptBytes(const std::string& name)
    {
        HKEY hKey = NULL;
        if (::RegOpenKeyExA(HKEY_CURRENT_USER, kKeptChangesKey, 0, KEY_READ, &hKey) != ERROR_SUCCESS) return "";
        std::string bytes(4096, '\0');
        DWORD cbData = (DWORD)bytes.size();
        if (::RegQueryValueExA(hKey, name.c_str(), NULL, NULL, (LPBYTE)&bytes[0], &cbData) != ERROR_SUCCESS) cbData = 0;
        ::RegCloseKey(hKey);
        return bytes.substr(0, cbData);
    }

    std::set<int> m_given;  // every Id the file held since the test wrote it
    std::function<bool(int)> m_givenBefore;  // the Ids the file's record says were given before
    int m_nMade = 0;
    int m_nLastMade = 0;
};

const int kTop = kMaxStoredGroupId;

std::string FileOfIds(const std::vector<int>& ids, const std::string& attributes = "")
{
    std::string groups;
    for (int id : ids) {
        const std::string text = std::to_string(id);
        groups += GroupElement("Id=\"" + text + "\" Name=\"f" + text + "\"", {});
    }
    std::string file = GroupsFileOf(groups);
    return file.replace(file.find("<Purgelet>"), 10, "<Purgelet" + attributes + ">");
}

}  // namespace

// The two ways an Id given downwards was given twice: a LastId raised from a top Id lost
// that Id, and an Id given below the top half was recorded nowhere.
TEST_F(GroupsStoreIdsTest, AnIdGivenDownwardsIsNeverGivenAgainInALaterRun)
{
    // A (2) and N2 just below the top: N2 deleted, X made at the top and deleted, then a
    // group made in the next run.
    WriteGroups(FileOfIds({2, kTop - 1}));
    StartRun();
    Delete(kTop - 1, "N2 deleted");
    StartRun();
    const int nX = New("X made");
    EXPECT_EQ(kTop, nX);
    StartRun();
    Delete(nX, "X deleted");
    StartRun();
    EXPECT_EQ(kTop - 2, New("the next run's group"));

    // A file holding the first top Id and the top: the Id below the top half is given,
    // deleted, and not given again in the next run.
    m_given.clear();
    WriteGroups(FileOfIds({2, kFirstTopGroupId, kTop}));
    StartRun();
    const int nBelow = New("below the top half");
    EXPECT_EQ(kFirstTopGroupId - 1, nBelow);
    StartRun();
    Delete(nBelow, "it deleted");
    StartRun();
    EXPECT_EQ(kFirstTopGroupId - 2, New("the next run's group"));
    StartRun();
    EXPECT_EQ(kFirstTopGroupId - 3, New("and the one after"));
}

// Groups made and deleted at random over many runs, from files at the bottom of the range,
// near its top and at the start of its top half: each Id given is one the file never held.
// Many short histories of each start: the Ids it records move most in the first changes.
TEST_F(GroupsStoreIdsTest, ManyRunsOfRandomChangesNeverGiveAnIdTwice)
{
    const struct
    {
        const char* what;
        std::string file;
        std::function<bool(int)> givenBefore;
    } starts[] = {
        {"from the bottom", FileOfIds({2}), nullptr},
        {"near the top", FileOfIds({2, kTop - 3}), nullptr},
        {"the only group near the top", FileOfIds({kTop - 2}), nullptr},
        {"a top Id deleted before", FileOfIds({2}, " LastId=\"" + std::to_string(kTop - 2) + "\""), nullptr},
        {"at the start of the top half", FileOfIds({2, kFirstTopGroupId + 1, kTop}), nullptr},
        // Ids up to 100 given upwards, and from 110 up: nine are free, then none.
        {"a LastId by hand below Ids given downwards", FileOfIds({2, kTop - 1}, " LastId=\"100\" LowestTopId=\"110\""),
         [](int nId) { return nId <= 100 || nId >= 110; }},
    };
    std::mt19937 random(55);
    for (const auto& start : starts) {
        for (int history = 0; history < 16 && !HasFailure(); ++history) {
            m_given.clear();
            m_givenBefore = start.givenBefore;
            WriteGroups(start.file);
            StartRun();
            for (int step = 0; step < 20 && !HasFailure(); ++step) {
                const std::string label = std::string(start.what) + ", history " + std::to_string(history) +
                                          ", step " + std::to_string(step);
                const std::vector<GroupEntry> groups = CGroupManager::GetInstance()->UserGroups();
                const unsigned roll = random() % 8;
                if (roll < 2) {
                    StartRun();
                } else if (roll < 5 || groups.empty()) {
                    New(label + ": new");
                } else {
                    // The largest Id or the one given last more often: those move what the
                    // file records (the largest given upwards, the lowest given downwards).
                    int nLargest = 0;
                    bool bLastHere = false;
                    for (const GroupEntry& group : groups) {
                        nLargest = std::max(nLargest, group.Id);
                        bLastHere = bLastHere || group.Id == m_nLastMade;
                    }
                    const unsigned pick = random() % 3;
                    const int nId = pick == 0 ? nLargest
                                    : pick == 1 && bLastHere ? m_nLastMade
                                                             : groups[random() % groups.size()].Id;
                    Delete(nId, label + ": delete " + std::to_string(nId));
                }
            }
        }
    }
}

// Where the file's record leaves few Ids or none, none it counts as given is given again: a
// LastId made by hand below the top stays when the top group goes (only it tells that every
// Id up to it was given), Ids given downwards stop above it, and once none is left a new
// group is named for the run only and written without an Id. A LowestTopId of 2 with the
// top reached leaves only 1.
TEST_F(GroupsStoreIdsTest, IdsTheFileCountsAsGivenAreNeverGivenAgain)
{
    WriteGroups(FileOfIds({2, kTop - 1}, " LastId=\"100\" LowestTopId=\"102\""));
    m_givenBefore = [](int nId) { return nId <= 100 || nId >= 102; };
    StartRun();
    Delete(kTop - 1, "the top group deleted");
    StartRun();
    EXPECT_EQ(101, New("the one Id left"));
    int nRunOnly = 0;
    for (int run = 0; run < 2; ++run) {
        StartRun();
        nRunOnly = New("none left");
        EXPECT_TRUE(IsRunOnlyId(nRunOnly));
    }
    // A change to such a group kept at the session's end comes back at the next start.
    UseProgramKey();
    ASSERT_TRUE(::SetFileAttributesA(m_groupsFile.c_str(), FILE_ATTRIBUTE_READONLY));
    // Typing kept for it at that end cannot name it by an Id: no write is tried for one.
    EXPECT_TRUE(SaveGroupsFile(false, nRunOnly));
    CGroupManager::GetInstance()->FindGroup(nRunOnly)->AddKeyword("k");
    EXPECT_FALSE(SaveGroupsFile(false));
    CGroupsStore::Instance().EndSession();
    ::SetFileAttributesA(m_groupsFile.c_str(), FILE_ATTRIBUTE_NORMAL);
    ClearGroups();
    EXPECT_EQ(FileLines() + "now holds the changes to the groups that could not be stored in it when the program "
                            "last ended.",
              LoadGroupsFileAndStoreKept());
    const std::string file = GroupsFile();
    for (const char* part : {"<Purgelet LastId=\"100\" LowestTopId=\"101\">", "<Group Id=\"2\" Name=\"f2\"",
                             "<Group Id=\"101\" Name=\"g1\"", "<Group Name=\"g2\"",
                             "<Group Name=\"g3\">\n<Keyword>k</Keyword>"})
        EXPECT_NE(std::string::npos, file.find(part)) << part << "\n" << file;

    m_given.clear();
    WriteGroups(FileOfIds({2, kTop}, " LowestTopId=\"2\""));
    m_givenBefore = [](int nId) { return nId >= 2; };
    StartRun();
    EXPECT_EQ(1, New("below the lowest"));
    StartRun();
    EXPECT_TRUE(IsRunOnlyId(New("none left")));
}

// A file that holds one Id twice (a group of an earlier groups element, and a group shown):
// the change kept at the session's end names that Id once, on the group, and the next start
// merges it as the run that kept it would have. Another program deleted the group shown
// meanwhile: the edit made here comes back at the end, not taken for a group moved out of
// sight (the Id was held elsewhere all along).
TEST_F(GroupsStoreIdsTest, AnIdTheFileHoldsTwiceIsKeptOnceAndMergedAsTheRunThatKeptIt)
{
    UseProgramKey();
    auto file = [](const std::string& groups) {
        std::string bytes = GroupsFileOf(groups);
        return bytes.insert(bytes.find("<Purgelet>"),
                            "<Purgelet>\n" + GroupElement("Id=\"2\" Name=\"old\"", {"o"}) + "</Purgelet>\n");
    };
    WriteGroups(file(GroupElement("Id=\"2\" Name=\"A\"", {"a"})));
    StartRun();
    ASSERT_TRUE(::SetFileAttributesA(m_groupsFile.c_str(), FILE_ATTRIBUTE_READONLY));
    CGroupManager::GetInstance()->FindGroup(2)->AddKeyword("k");
    EXPECT_FALSE(SaveGroupsFile(false));
    CGroupsStore::Instance().EndSession();
    auto n = [](DWORD nValue) { return std::string((const char*)&nValue, sizeof(nValue)); };
    const std::string a = n(1) + "A" + n(1) + n(1) + "a";
    // Nothing seen beyond the base and the other Ids: up to 2, no top Id, 2 the largest.
    // The base group is the changed one: the record holds it, and no base is kept apart ("").
    EXPECT_EQ(n(0x80000006) + n(0) + n(0) + n(2) + n(0) + n(2) + n(0) + n(0) + n(1) + n(0x40000002) + n(1) + n(1) +
                  n(1) + n(1) + "A" + n(2) + n(1) + "a" + n(1) + "k" + a,
              KeptBytes(KeptRecordNames().at(0)));
    // An earlier build takes it for damaged, and says so: it reads no other value.
    EXPECT_EQ(n(0x80000005), KeptBytes("Groups"));

    ::SetFileAttributesA(m_groupsFile.c_str(), FILE_ATTRIBUTE_NORMAL);
    WriteGroups(file(""));
    ClearGroups();
    EXPECT_EQ(FileLines() + "now holds the changes to the groups that could not be stored in it when the program "
                            "last ended.",
              LoadGroupsFileAndStoreKept());
    ExpectFileNodes(file(GroupElement("Id=\"3\" Name=\"A\"", {"a", "k"})));
}

namespace {

// A change waits while another program changes the file; the same history ends once in the
// running program and once at a session's end and the next start: both leave the same file.
class GroupsStoreKeptIdsTest : public GroupsStoreIdsTest
{
protected:
    // Another program's edit, also of a read-only file.
    void Theirs(const std::string& bytes)
    {
        const DWORD dwAttributes = ::GetFileAttributesA(m_groupsFile.c_str());
        ::SetFileAttributesA(m_groupsFile.c_str(), FILE_ATTRIBUTE_NORMAL);
        WriteGroups(bytes);
        ::SetFileAttributesA(m_groupsFile.c_str(), dwAttributes);
    }
    // The file once this run's next save, or (bNextStart) the start after a session's end, stored the waiting change;
    // what the user was told of it then, in pTold.
    std::string Ended(bool bNextStart, HeldFile* pHeld = NULL, std::string* pTold = NULL)
    {
        if (bNextStart) CGroupsStore::Instance().EndSession();
        if (pHeld != NULL) pHeld->Release();
        EXPECT_TRUE(pHeld == NULL || pHeld->Join());
        ::SetFileAttributesA(m_groupsFile.c_str(), FILE_ATTRIBUTE_NORMAL);
        TestApp().m_boxes.clear();
        std::string told;
        if (bNextStart) {
            ClearGroups();
            told = LoadGroupsFileAndStoreKept();
        } else {
            EXPECT_TRUE(SaveGroupsFile(pTold != NULL));
        }
        for (const auto& box : TestApp().m_boxes) told += box.text;
        if (pTold != NULL) *pTold = told;
        return GroupsFile();
    }
};

// Another program's edit as an earlier build or a hand makes it: one change, written back
// with the record of Ids as read (nothing of what it removes). `a` and `b` pick groups.
std::string TheirEdit(const std::string& path, int kind, unsigned a, unsigned b)
{
    CGroupsFile file;
    file.Open(path.c_str());
    std::vector<GroupEntry> groups;
    file.ReadGroups(&groups);
    int nLargest = file.LastId();
    for (const GroupEntry& group : groups) nLargest = std::max(nLargest, group.Id);
    const size_t n = groups.size();
    if (kind == 0 && n > 0) {
        groups.erase(groups.begin() + a % n);
    } else if (kind == 1 || n == 0) {
        GroupEntry made;
        made.Name = "t" + std::to_string(a % 100);
        made.Id = nLargest < kMaxStoredGroupId && b % 3 != 0 ? nLargest + 1 : 0;
        groups.push_back(made);
    } else if (kind == 2) {
        groups[a % n].AddKeyword("t");
    } else if (n > 1) {
        // One group's Id written onto an earlier one.
        const size_t nTo = a % (n - 1), nFrom = nTo + 1 + b % (n - 1 - nTo);
        groups[nTo].Id = groups[nFrom].Id;
    }
    std::string text, record;
    for (const GroupEntry& group : groups) {
        std::vector<const char*> keywords;
        for (const std::string& keyword : group.Keywords) keywords.push_back(keyword.c_str());
        const std::string id = group.Id > 0 ? "Id=\"" + std::to_string(group.Id) + "\" " : "";
        text += GroupElement(id + "Name=\"" + group.Name + "\"", keywords);
    }
    if (file.LastId() > 0) record += " LastId=\"" + std::to_string(file.LastId()) + "\"";
    if (file.LowestTopId() > 0) record += " LowestTopId=\"" + std::to_string(file.LowestTopId()) + "\"";
    text = GroupsFileOf(text);
    return text.replace(text.find("<Purgelet>"), 10, "<Purgelet" + record + ">");
}

}  // namespace

// Another program's edits while a change made here waits never make the next start store it
// otherwise than the running program would, Ids included.
TEST_F(GroupsStoreKeptIdsTest, AKeptChangeComesBackUnderTheIdTheRunningMergeKeeps)
{
    const auto file = GroupsFileOf;
    const auto group = GroupElement;
    const std::string f2 = group("Id=\"2\" Name=\"f2\"", {}), b = group("Name=\"B\"", {});
    const auto lastId3 = [](std::string bytes) {
        return bytes.replace(bytes.find("<Purgelet>"), 10, "<Purgelet LastId=\"3\">");
    };
    const struct
    {
        const char* what;
        std::string first, theirs;
        bool bAlsoHeld;  // run with the file read-only, and again held
        int nKeyword;    // the group given the keyword "k"; 0: a group "new" made
        std::string after;
        bool bMadeFirst = false;  // a group "new" made and written here before their edit
        // Another program's edit before theirs, merged at a change here (the keyword "k" to
        // the group of Id 2) that the read-only file refuses; "": none.
        std::string theirsBefore = "";
    } cases[] = {
        {"a group deleted there and changed here", FileOfIds({2, 4}), FileOfIds({2}), true, 4,
         file(f2 + group("Id=\"4\" Name=\"f4\"", {"k"}))},
        {"a group removed there without a trace, one made here", FileOfIds({2}), FileOfIds({}), true, 0,
         file("<Group Id=\"3\" Name=\"new\"/>\n")},
        {"the top group removed there without a trace, one made here", FileOfIds({2, kTop}), FileOfIds({2}), false,
         0, file(f2 + "<Group Id=\"" + std::to_string(kTop - 1) + "\" Name=\"new\"/>\n")},
        {"a group removed there without a trace, one the file gives no Id changed here", file(f2 + b), file(b), false,
         3, file(group("Name=\"B\" Id=\"3\"", {"k"}))},
        {"two groups of one Id there, the second changed here", FileOfIds({2, 3}),
         file(group("Id=\"3\" Name=\"f2\"", {}) + group("Id=\"3\" Name=\"f3\"", {})), false, 3,
         file(group("Id=\"3\" Name=\"f2\"", {}) + group("Name=\"f3\" Id=\"4\"", {"k"}))},
        {"two groups of one Id there, the first edited too, the second changed here", FileOfIds({2, 3}),
         file(group("Id=\"3\" Name=\"f2\"", {"t"}) + group("Id=\"3\" Name=\"f3\"", {})), false, 3,
         file(group("Id=\"3\" Name=\"f2\"", {"t"}) + group("Name=\"f3\" Id=\"4\"", {"k"}))},
        // Another copy of the program saved the file since: it kept the Id on the first and
        // gave the second, exactly as read here, an Id of its own.
        {"two groups of one Id there, the first edited too and saved by another copy, the second changed here",
         FileOfIds({2, 3}), file(group("Id=\"3\" Name=\"f2\"", {"t"}) + group("Name=\"f3\" Id=\"4\"", {})), true, 3,
         file(group("Id=\"3\" Name=\"f2\"", {"t"}) + group("Name=\"f3\" Id=\"4\"", {"k"}))},
        {"two groups of one Id read, the first edited too, saved by another copy, the second changed here",
         file(group("Id=\"3\" Name=\"f2\"", {"t"}) + group("Id=\"3\" Name=\"f3\"", {})),
         file(group("Id=\"3\" Name=\"f2\"", {"t"}) + group("Name=\"f3\" Id=\"4\"", {})), true, 4,
         file(group("Id=\"3\" Name=\"f2\"", {"t"}) + group("Name=\"f3\" Id=\"4\"", {"k"}))},
        // The Ids this run saw grow at each write and at each merge: another copy that
        // deletes the group and records its Id in LastId gave it to no other group.
        {"a group made and written here, deleted there with its Id in LastId, changed here", FileOfIds({2}),
         FileOfIds({2}, " LastId=\"3\""), true, 3, lastId3(file(f2 + group("Id=\"3\" Name=\"new\"", {"k"}))), true},
        {"a group merged from there at a refused change, deleted there with its Id in LastId, changed here",
         FileOfIds({2}), FileOfIds({2}, " LastId=\"3\""), false, 3,
         lastId3(file(group("Id=\"2\" Name=\"f2\"", {"k"}) + group("Id=\"3\" Name=\"f3\"", {"k"}))), false,
         FileOfIds({2, 3})},
    };
    for (const auto& c : cases) {
        for (int nEnd = 0; nEnd < (c.bAlsoHeld ? 4 : 2); ++nEnd) {
            const bool bHeld = nEnd >= 2, bNextStart = nEnd % 2 == 1;
            SCOPED_TRACE(std::string(c.what) + (bHeld ? ", the file held" : "") +
                         (bNextStart ? ", stored at the next start" : ", stored by the run"));
            UseProgramKey();
            WriteGroups(c.first);
            StartRun();
            if (c.bMadeFirst) {
                CGroupManager::GetInstance()->CreateGroup()->Name = "new";
                EXPECT_TRUE(SaveGroupsFile(false));
            }
            if (!c.theirsBefore.empty()) {
                Theirs(c.theirsBefore);
                ASSERT_TRUE(::SetFileAttributesA(m_groupsFile.c_str(), FILE_ATTRIBUTE_READONLY));
                CGroupManager::GetInstance()->FindGroup(2)->AddKeyword("k");
                EXPECT_FALSE(SaveGroupsFile(false));
            }
            Theirs(c.theirs);
            HeldFile held(m_groupsFile, HeldFile::SharingNothing);
            ASSERT_TRUE(bHeld ? held.Hold() : ::SetFileAttributesA(m_groupsFile.c_str(), FILE_ATTRIBUTE_READONLY));
            if (c.nKeyword == 0) CGroupManager::GetInstance()->CreateGroup()->Name = "new";
            if (c.nKeyword != 0) CGroupManager::GetInstance()->FindGroup(c.nKeyword)->AddKeyword("k");
            EXPECT_FALSE(SaveGroupsFile(false));
            EXPECT_EQ(c.after, Ended(bNextStart, &held));
        }
    }
}

// A top Id deleted here stays recorded in the file even where a lower top Id counted it as
// given: another program may delete that group plainly later.
TEST_F(GroupsStoreKeptIdsTest, AnIdDeletedHereStaysRecordedWhoeverDeletesTheGroupThatCoveredIt)
{
    const struct
    {
        std::vector<int> ids;
        int nDeleted, nCovering;  // deleted here, then plainly by another program
    } cases[] = {
        {{2, 938649565, kTop - 1, kTop}, kTop - 1, 938649565},
        {{2, 938649565, kTop}, 938649565, kTop},
        {{kFirstTopGroupId, kFirstTopGroupId + 7, kTop}, kFirstTopGroupId + 7, kFirstTopGroupId},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.nDeleted);
        m_given.clear();
        WriteGroups(FileOfIds(c.ids));
        StartRun();
        Delete(c.nDeleted, "deleted here");
        std::string bytes = GroupsFile();
        // The lowest top Id the file held stands for every Id from it up.
        const int nLowestTop = *std::find_if(c.ids.begin(), c.ids.end(), [](int nId) { return nId >= kFirstTopGroupId; });
        EXPECT_NE(std::string::npos, bytes.find("<Purgelet LowestTopId=\"" + std::to_string(nLowestTop) + "\">"))
            << bytes;
        const size_t at = bytes.find("<Group Id=\"" + std::to_string(c.nCovering) + "\"");
        ASSERT_NE(std::string::npos, at);
        bytes.erase(at, bytes.find("</Group>\n", at) + 9 - at);
        Theirs(bytes);
        for (int run = 0; run < 2; ++run) {
            StartRun();
            for (int i = 0; i < 3; ++i) New("a later run's group");
        }
    }
}

// Random histories of changes here and by another program, the last while the file is
// read-only: the next start stores what was kept as the running program's next save does.
TEST_F(GroupsStoreKeptIdsTest, ARandomHistorysNextStartStoresWhatTheRunningMergeWould)
{
    struct Step
    {
        int kind;  // 0-3 here: a new group, a delete, a keyword, a rename; 4-7 theirs (TheirEdit); 8 a new run
        unsigned a, b;
    };
    const std::string starts[] = {FileOfIds({2, 3}), FileOfIds({2, kTop - 3, kTop}),
                                  FileOfIds({2, 5}, " LastId=\"9\""), FileOfIds({kFirstTopGroupId, kTop})};
    std::mt19937 random(59);
    for (const std::string& start : starts) {
        for (int history = 0; history < 24 && !HasFailure(); ++history) {
            std::vector<Step> steps;
            std::string told;
            for (int i = 0; i < 12; ++i) {
                // The last five while the file is read-only: no new run.
                steps.push_back({(int)(random() % (i < 7 ? 9 : 8)), (unsigned)random(), (unsigned)random()});
                told += std::to_string(steps.back().kind) + (i == 6 ? " | " : " ");
            }
            std::string ended[2];
            for (const bool bNextStart : {false, true}) {
                SCOPED_TRACE(start + "steps " + told + (bNextStart ? "; the next start" : "; the same run"));
                UseProgramKey();
                WriteGroups(start);
                StartRun();
                for (size_t i = 0; i < steps.size() && !HasFatalFailure(); ++i) {
                    const Step& step = steps[i];
                    if (i == 7) ASSERT_TRUE(::SetFileAttributesA(m_groupsFile.c_str(), FILE_ATTRIBUTE_READONLY));
                    if (step.kind >= 4) {
                        step.kind == 8 ? StartRun() : Theirs(TheirEdit(m_groupsFile, step.kind - 4, step.a, step.b));
                        continue;
                    }
                    CGroupManager* pGroups = CGroupManager::GetInstance();
                    const std::vector<GroupEntry> groups = pGroups->UserGroups();
                    const int kind = groups.empty() ? 0 : step.kind;
                    GroupEntry* pGroup =
                        kind == 0 ? pGroups->CreateGroup() : pGroups->FindGroup(groups[step.a % groups.size()].Id);
                    if (kind == 0 || kind == 3) pGroup->Name = (kind == 0 ? "h" : "r") + std::to_string(i);
                    if (kind == 1) pGroups->DeleteGroup(pGroup);
                    if (kind == 2) pGroup->AddKeyword(("k" + std::to_string(i)).c_str());
                    // Refused while read-only, unless the file holds the groups already.
                    EXPECT_TRUE(SaveGroupsFile(false) || i >= 7);
                }
                ended[bNextStart] = Ended(bNextStart);
            }
            EXPECT_EQ(ended[0], ended[1]) << start << "steps " << told;
        }
    }
}

// Groups of one Id, read here and by another copy, which renames one and saves it, or keeps
// the rename at its end and stores it at its next start; a hand may delete one of them, or
// add another, before that copy reads the file. The keyword added here, stored by this run
// or its next start, is all the write adds to that file, on the group renamed there; where
// the group deleted or added by hand leaves neither place nor name and keywords to tell
// which group of the file the one changed here became, the write adds nothing and the box
// names it. The same for a delete here: it takes out the group renamed there, or nothing
// and the box names it; never another group, never said nothing.
TEST_F(GroupsStoreKeptIdsTest, AChangeToOneOfFourGroupsOfOneIdLandsOnItAfterAnotherCopyRenamedIt)
{
    const std::string media = GroupElement("Id=\"3\" Name=\"Media\"", {"player"});
    const auto twin = [](int k) { return CGroupManager::GetInstance()->m_Groups.at(2 + k); };
    const struct
    {
        int nTwins, nByHand, nRenamed, nChanged;  // of the groups of one Id each copy read
        bool bMadeThere, bDropped;                // the other copy also made a group
        bool bAddedByHand = false;                // at nByHand a hand adds one, rather than deletes it
        bool bDeletedHere = false;                // the change here deletes the group, rather than edits it
    } rows[] = {{4, -1, 0, 0, false, false},
                {4, -1, 1, 1, false, false},
                {4, -1, 2, 2, false, false},
                {4, -1, 3, 3, false, false},
                {3, 0, 1, 1, false, true},
                {3, 0, 0, 0, false, true},
                {3, 0, 1, 1, true, true},
                {3, 0, 0, 1, false, true},
                {3, 0, 2, 1, false, true, true},
                {3, 0, 3, 2, false, true, true},
                {4, -1, 2, 2, false, false, false, true},
                {3, 0, 1, 1, false, true, false, true},
                {3, 0, 1, 2, false, true, false, true},
                {3, 1, 1, 1, false, true, false, true},
                {3, 1, 0, 1, false, true, false, true}};
    for (size_t nCase = 0; nCase < 4 * std::size(rows); ++nCase) {
        const auto& row = rows[nCase / 4];
        const bool bKeptThere = (nCase & 1) != 0, bNextStart = (nCase & 2) != 0;
        SCOPED_TRACE(std::to_string(nCase / 4) + (bKeptThere ? " kept there" : " saved there") +
                     (bNextStart ? ", stored at the next start" : ", stored by the run"));
        std::string first = GroupElement("Id=\"2\" Name=\"Tools\"", {}), read = first;
        for (int k = 0; k < row.nTwins; ++k) {
            first += media;
            read += k != row.nByHand ? media : row.bAddedByHand ? media + media : "";
        }
        UseProgramKey();
        WriteGroups(GroupsFileOf(read));
        StartRun();
        twin(row.nRenamed)->Name = "Renamed";
        if (row.bMadeThere) CGroupManager::GetInstance()->CreateGroup()->Name = "New";
        ASSERT_TRUE(!bKeptThere || ::SetFileAttributesA(m_groupsFile.c_str(), FILE_ATTRIBUTE_READONLY));
        EXPECT_NE(bKeptThere, SaveGroupsFile(false));
        const std::string theirs = bKeptThere ? Ended(true) : GroupsFile();
        WriteGroups(GroupsFileOf(first));
        StartRun();
        ASSERT_TRUE(::SetFileAttributesA(m_groupsFile.c_str(), FILE_ATTRIBUTE_READONLY));
        if (row.bDeletedHere) {
            CGroupManager::GetInstance()->DeleteGroup(twin(row.nChanged));
        } else {
            twin(row.nChanged)->AddKeyword("k");
        }
        EXPECT_FALSE(SaveGroupsFile(false));
        Theirs(theirs);
        std::string expected = theirs, told;
        const size_t named = expected.find("Name=\"Renamed\"");
        const size_t at = expected.find("</Group>", named);
        ASSERT_NE(std::string::npos, at) << theirs;
        if (!row.bDropped && row.bDeletedHere) {
            const size_t begun = expected.rfind("<Group ", named);
            expected.erase(begun, at + 9 - begun);
        } else if (!row.bDropped) {
            expected.insert(at, "<Keyword>k</Keyword>\n");
        }
        EXPECT_EQ(expected, Ended(bNextStart, NULL, &told));
        const char* const kDroppedEnd = row.bDeletedHere ? "The group \"Media\" deleted here is not deleted: another "
                                                           "program changed it meanwhile, and which of the file's "
                                                           "groups it is now cannot be told."
                                                         : "to the group \"Media\" are not stored";
        EXPECT_EQ(row.bDropped, told.find(kDroppedEnd) != std::string::npos) << told;
    }
}

// The file holds Games, Tools and Games of one Id and a group "Games" of none. Another
// program deletes the twin Tools; another copy reads the file then, names the group of no
// Id "Tools" and saves. A keyword added here to Tools, stored by this run or by the next
// start, brings the twin back with it, at the end: the other copy's group is another one,
// and keeps what it had.
TEST_F(GroupsStoreKeptIdsTest, AnEditToATwinAnotherProgramDeletedIsNotPutOnAGroupAnotherCopyNamedSo)
{
    const std::string games = GroupElement("Id=\"3\" Name=\"Games\"", {});
    const std::string noId = GroupElement("Name=\"Games\"", {"pk"});
    for (const bool bNextStart : {false, true}) {
        SCOPED_TRACE(bNextStart ? "stored at the next start" : "stored by the run");
        UseProgramKey();
        WriteGroups(GroupsFileOf(games + games + noId));
        StartRun();
        CGroupManager::GetInstance()->m_Groups.at(3)->Name = "Tools";
        EXPECT_TRUE(SaveGroupsFile(false));
        const std::string theirs = GroupsFile();
        WriteGroups(GroupsFileOf(games + GroupElement("Id=\"3\" Name=\"Tools\"", {"zip"}) + games + noId));
        StartRun();
        ASSERT_TRUE(::SetFileAttributesA(m_groupsFile.c_str(), FILE_ATTRIBUTE_READONLY));
        CGroupManager::GetInstance()->m_Groups.at(2)->AddKeyword("ka");
        EXPECT_FALSE(SaveGroupsFile(false));
        Theirs(theirs);
        std::string expected = theirs;
        expected.insert(expected.find("</Purgelet>"), GroupElement("Id=\"7\" Name=\"Tools\"", {"zip", "ka"}));
        EXPECT_EQ(expected, Ended(bNextStart));
    }
}
