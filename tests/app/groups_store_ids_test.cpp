// Ids across runs of the program's store: every change is saved as the program saves it,
// each run reads the file afresh, and no Id the file ever held is given again, also where
// Ids are given downwards from the largest the reader takes and below the top half.
#include "main_window_groups_fixture.h"
#include "app/groups_store.h"
#include "catalogue/groups.h"
#include "catalogue/groups_file.h"
#include <gtest/gtest.h>
#include <algorithm>
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
        for (const GroupEntry& group : CGroupManager::GetInstance()->UserGroups()) m_given.insert(group.Id);
    }
    // A new group, saved as the editor's Apply saves it: its Id is none the file ever held.
    int New(const std::string& step)
    {
        GroupEntry* pGroup = CGroupManager::GetInstance()->CreateGroup();
        pGroup->Name = "g" + std::to_string(++m_nMade);
        const int nId = pGroup->Id;
        EXPECT_TRUE(SaveGroupsFile(false)) << step;
        EXPECT_TRUE(m_given.insert(nId).second) << step << ": " << nId << " given again\n" << GroupsFile();
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

    std::set<int> m_given;  // every Id the file held since the test wrote it
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
    } starts[] = {
        {"from the bottom", FileOfIds({2})},
        {"near the top", FileOfIds({2, kTop - 3})},
        {"the only group near the top", FileOfIds({kTop - 2})},
        {"a top Id deleted before", FileOfIds({2}, " LastId=\"" + std::to_string(kTop - 2) + "\"")},
        {"at the start of the top half", FileOfIds({2, kFirstTopGroupId + 1, kTop})},
    };
    std::mt19937 random(55);
    for (const auto& start : starts) {
        for (int history = 0; history < 16 && !HasFailure(); ++history) {
            m_given.clear();
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
