// Ids across runs of the program's store: every change is saved as the program saves it,
// each run reads the file afresh, and no Id the file ever held is given again, also where
// Ids are given downwards from the largest the reader takes and below the top half.
#include "main_window_groups_fixture.h"
#include "app/groups_store.h"
#include "catalogue/groups.h"
#include "catalogue/groups_file.h"
#include <gtest/gtest.h>
#include <algorithm>
#include <functional>
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

    static std::string KeptBytes()
    {
        HKEY hKey = NULL;
        if (::RegOpenKeyExA(HKEY_CURRENT_USER, kKeptChangesKey, 0, KEY_READ, &hKey) != ERROR_SUCCESS) return "";
        std::string bytes(4096, '\0');
        DWORD cbData = (DWORD)bytes.size();
        if (::RegQueryValueExA(hKey, "Groups", NULL, NULL, (LPBYTE)&bytes[0], &cbData) != ERROR_SUCCESS) cbData = 0;
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
    EXPECT_EQ(n(0x80000003) + n(0) + n(1) + n(0x40000002) + a + n(1) + n(1) + n(1) + "A" + n(2) + n(1) + "a" +
                  n(1) + "k",
              KeptBytes());

    ::SetFileAttributesA(m_groupsFile.c_str(), FILE_ATTRIBUTE_NORMAL);
    WriteGroups(file(""));
    ClearGroups();
    EXPECT_EQ(FileLines() + "now holds the changes to the groups that could not be stored in it when the program "
                            "last ended.",
              LoadGroupsFileAndStoreKept());
    ExpectFileNodes(file(GroupElement("Id=\"3\" Name=\"A\"", {"a", "k"})));
}
