// The groups model: keyword matching, the built-in "Other", Ids and the current group.
#include <gtest/gtest.h>
#include "catalogue/groups.h"
#include "catalogue_test_util.h"
#include <algorithm>
#include <cstdlib>
#include <functional>
#include <set>

namespace {

using Groups = cattest::GroupsTest;

TEST_F(Groups, StartsWithTheBuiltInOther) {
    ASSERT_EQ(1u, m->m_Groups.size());
    GroupEntry* other = m->m_Groups[0];
    EXPECT_EQ("Other", other->Name);
    EXPECT_EQ(0, other->Id);
    EXPECT_EQ(1, other->BuiltIn);
    EXPECT_TRUE(other->Keywords.empty());
    EXPECT_EQ(other, m->FindGroup(0));
    EXPECT_TRUE(m->m_pCurrentGroup == nullptr);
}

TEST_F(Groups, MatchesKeywordsAnywhereIgnoringCase) {
    GroupEntry* office = Add("Office", {"office"});
    GroupEntry* net = Add("Net", {"zzz", "net"});
    GroupEntry* empty = Add("Empty", {});

    struct Case {
        GroupEntry* current;
        const char* name;
        BOOL excluded;
    } cases[] = {
        {nullptr, "Anything at all", FALSE},
        {office, "Harbor Office Suite 2003", FALSE},
        {office, "OFFICE TOOLS", FALSE},
        {office, "Internet Radio Tuner", TRUE},
        {net, "Internet Radio Tuner", FALSE},  // inside a word
        {net, "Paint", TRUE},
        {empty, "Harbor Office Suite 2003", TRUE},  // a group without keywords shows nothing
        {m->m_Groups[0], "Harbor Office Suite 2003", TRUE},
        {m->m_Groups[0], "Internet Radio Tuner", TRUE},
        {m->m_Groups[0], "Paint", FALSE},
        {m->m_Groups[0], "Caf\xC9 \xFF\x80 Paint", FALSE},  // bytes above 127 are not letters
    };
    for (const Case& k : cases) {
        m->m_pCurrentGroup = k.current;
        EXPECT_EQ(k.excluded, m->IsExcluded(k.name))
            << (k.current ? k.current->Name : std::string("(none)")) << " / " << k.name;
    }
}

TEST_F(Groups, OtherShowsEverythingWhenNoKeywordExistsAndAnEmptyKeywordMatchesAll) {
    m->m_pCurrentGroup = m->m_Groups[0];
    EXPECT_FALSE(m->IsExcluded("Paint"));
    Add("Any", {""});
    EXPECT_TRUE(m->IsExcluded("Paint"));
    EXPECT_TRUE(m->IsExcludedFromOther(""));
}

TEST_F(Groups, HighBytesFoldOnlyTheAsciiLetters) {
    EXPECT_EQ(std::string("caf\xC9 \xFF\x80 abc"), GroupsLowerCase("CAF\xC9 \xFF\x80 AbC"));
    GroupEntry* g = Add("Accents", {"\xC9T\xC9"});
    m->m_pCurrentGroup = g;
    EXPECT_FALSE(m->IsExcluded("\xC9t\xC9 edition"));
    EXPECT_TRUE(m->IsExcluded("\xE9t\xE9 edition"));  // no folding outside A-Z
}

TEST_F(Groups, IdsStayUniqueAfterDeletions) {
    GroupEntry* a = Add("A", {});
    GroupEntry* b = Add("B", {});
    GroupEntry* c = m->CreateGroup();
    // Position plus one at first, as a fresh file has always numbered its groups.
    EXPECT_EQ(2, a->Id);
    EXPECT_EQ(3, b->Id);
    EXPECT_EQ(4, c->Id);
    EXPECT_EQ("", c->Name);
    EXPECT_EQ(0, c->BuiltIn);

    m->DeleteGroup(a);
    GroupEntry* d = m->CreateGroup();
    GroupEntry* e = Add("E", {});
    // Never an Id given before, also when the group of the largest one is gone.
    m->DeleteGroup(c);
    GroupEntry* f = m->CreateGroup();
    EXPECT_EQ(5, d->Id);
    EXPECT_EQ(6, e->Id);
    EXPECT_EQ(7, f->Id);
    for (size_t i = 0; i < m->m_Groups.size(); ++i)
        for (size_t j = i + 1; j < m->m_Groups.size(); ++j)
            EXPECT_NE(m->m_Groups[i]->Id, m->m_Groups[j]->Id) << m->m_Groups[i]->Name << " / " << m->m_Groups[j]->Name;
    EXPECT_EQ(b, m->FindGroup(3));
    EXPECT_EQ(d, m->FindGroup(5));
    EXPECT_TRUE(m->FindGroup(2) == nullptr);
    EXPECT_TRUE(m->FindGroup(-1) == nullptr);
}

// Once the Ids ran up to the top, each new group takes the largest Id below everything
// counted as given downwards and above every Id used below that (every Id up to the largest
// of those counts as given upwards); once none is left between, an Id for the run only.
TEST_F(Groups, IdsGivenDownwardsStopAboveTheIdsGivenUpwardsThenNameGroupsForTheRunOnly) {
    for (int id : {kMaxGroupId, 4, 2}) m->ReserveId(id);
    m->ReserveIdsFrom(6);
    std::vector<int> given;
    for (int i = 0; i < 4; ++i) given.push_back(m->CreateGroup()->Id);
    EXPECT_EQ((std::vector<int>{5, kMaxGroupId + 1, kMaxGroupId + 2, kMaxGroupId + 3}), given);
    EXPECT_EQ(5, m->LowestIdGivenDownwards());
}

// What a file counts as given (every Id up to its largest, or once Ids go downwards every Id
// from its lowest top one up and up to the largest below), alone or kept as its bounds, a
// manager that reserved it never gives; of two records joined, either counts. A group that
// does not hold the file's Id keeps one this run saw, and leaves one the file holds or gave since.
TEST_F(Groups, AFileCountsAsGivenWhatTheManagerNeverGivesAgain) {
    const int top = kMaxGroupId, t = kFirstTopGroupId;
    const struct {
        const char* what;
        std::set<int> held;
        int lowestTopId;
        std::vector<int> counted, free;
    } cases[] = {
        {"no Id", {}, 0, {}, {1, 2, top}},
        {"upwards", {2, 5}, 0, {1, 3, 5}, {6, t, top}},
        {"a top Id by hand, upwards yet", {2, t + 5}, 0, {7, t + 5}, {t + 6, top}},
        {"the top reached", {2, 100, t + 5, top}, 0, {1, 100, t + 5, t + 6, top}, {101, t + 4}},
        {"a lowest top Id below the top half, the top not held", {2, 50, top - 1}, 102, {50, 102, top}, {51, 101}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const GivenIds given = GivenIds::OfFile(c.held, c.lowestTopId);
        const GivenIds kept = GivenIds::Of(given.Ids(), given.UpTo(), given.From());
        for (const GivenIds* g : {&given, &kept}) {
            for (int id : c.counted) EXPECT_TRUE(g->Counts(id)) << id << (g == &kept ? " kept" : "");
            for (int id : c.free) EXPECT_FALSE(g->Counts(id)) << id << (g == &kept ? " kept" : "");
        }
        Reset();
        m->ReserveIds(given);
        for (int i = 0; i < 3; ++i) {
            const int id = m->CreateGroup()->Id;
            EXPECT_TRUE(IsRunOnlyId(id) || !given.Counts(id)) << id;
        }
    }
    // The top group removed without a trace: the file now counts every Id up to its largest.
    GivenIds seen = GivenIds::OfFile({top - 5, top}, 0);
    const GivenIds now = GivenIds::OfFile({top - 5}, 0);
    EXPECT_TRUE(IdTakenInFile(top - 6, {}, now, seen));
    seen.Add(now);
    EXPECT_TRUE(seen.Counts(top - 6) && seen.Counts(top - 1));
    EXPECT_FALSE(IdTakenInFile(top - 6, {}, now, seen));
    // Copies share their Ids: one joined with more leaves the others as they were. Ids
    // reserved again in part (records kept on one file, then on a later one) are all reserved.
    GivenIds joined = now;
    joined.Add(GivenIds::Of({7, top}, 0, 0));
    EXPECT_TRUE(joined.Counts(top) && !now.Counts(top));
    Reset();
    m->ReserveIds(GivenIds::Of({2, 3}, 0, 0));
    m->ReserveIds(GivenIds::Of({3, 9}, 0, 0));
    EXPECT_EQ(10, m->CreateGroup()->Id);
    // Seen in the file, deleted there (recorded or not): kept here unless the file holds it for another group.
    EXPECT_FALSE(IdTakenInFile(4, {}, GivenIds::OfFile({2}, 0), GivenIds::OfFile({2, 4}, 0)));
    EXPECT_FALSE(IdTakenInFile(4, {}, GivenIds::OfFile({2, 4}, 0), GivenIds::OfFile({2, 4}, 0)));
    EXPECT_TRUE(IdTakenInFile(4, {4}, GivenIds::OfFile({2, 4}, 0), GivenIds::OfFile({2, 4}, 0)));
    // Given here past what the run saw, and given there since (its LastId).
    EXPECT_TRUE(IdTakenInFile(5, {}, GivenIds::OfFile({2, 5}, 0), GivenIds::OfFile({2, 4}, 0)));
    EXPECT_FALSE(IdTakenInFile(6, {}, GivenIds::OfFile({2, 5}, 0), GivenIds::OfFile({2, 4}, 0)));
}

// Stored groups keep their Ids unless a group of the list or an earlier stored one holds
// it; two lists of the same names and keywords under other Ids are not the same groups.
TEST_F(Groups, StoredGroupsTakeNoIdTheListHoldsAndIdsTellGroupsApart) {
    GroupEntry* here = m->CreateGroup();
    ASSERT_EQ(2, here->Id);
    std::vector<GroupEntry> stored(4);
    const int ids[] = {2, 9, 9, 0};
    for (size_t i = 0; i < stored.size(); ++i) {
        stored[i].Id = ids[i];
        stored[i].Name = "s" + std::to_string(i);
    }
    m->AddStoredGroups(stored);
    std::string got;
    for (const GroupEntry* g : m->m_Groups) got += g->Name + "=" + std::to_string(g->Id) + " ";
    EXPECT_EQ("Other=0 =2 s0=10 s1=9 s2=11 s3=12 ", got);

    std::vector<GroupEntry> renumbered = m->UserGroups();
    EXPECT_TRUE(SameGroups(m->UserGroups(), renumbered));
    renumbered[1].Id = 13;
    EXPECT_FALSE(SameGroups(m->UserGroups(), renumbered));
}

TEST_F(Groups, AddGroupCopiesAndDeleteClearsTheCurrentGroup) {
    GroupEntry source;
    source.Name = "Copied";
    source.AddKeyword("k1");
    source.AddKeyword("k1");
    source.AddKeyword("");
    source.Id = 77;
    GroupEntry* g = m->AddGroup(source);
    ASSERT_NE(&source, g);
    EXPECT_EQ("Copied", g->Name);
    EXPECT_EQ((std::vector<std::string>{"k1", "k1", ""}), g->Keywords);
    EXPECT_EQ(2, g->Id);  // not the source's
    EXPECT_EQ(g, m->m_Groups.back());

    GroupEntry* other = Add("Stays", {});
    m->m_pCurrentGroup = other;
    m->DeleteGroup(g);
    EXPECT_EQ(other, m->m_pCurrentGroup);
    m->DeleteGroup(other);
    EXPECT_TRUE(m->m_pCurrentGroup == nullptr);
    EXPECT_EQ(1u, m->m_Groups.size());

    GroupEntry stranger;
    m->DeleteGroup(&stranger);  // not in the list: nothing happens
    EXPECT_EQ(1u, m->m_Groups.size());
}

// Groups written "A:x,y;B:" (a name, a colon, the keywords; groups end with ";").
std::vector<GroupEntry> Parse(const std::string& text) {
    std::vector<GroupEntry> groups;
    for (size_t at = 0; at < text.size();) {
        const size_t end = text.find(';', at);
        const std::string one = text.substr(at, end - at);
        GroupEntry g;
        const size_t id = one.find('=');
        g.Id = id == std::string::npos ? 0 : std::atoi(one.substr(0, id).c_str());
        g.Name = one.substr(id == std::string::npos ? 0 : id + 1, one.find(':') - (id == std::string::npos ? 0 : id + 1));
        for (size_t k = one.find(':') + 1; k <= one.size() && k != 0;) {
            const size_t comma = one.find(',', k);
            if (k < one.size()) g.AddKeyword(one.substr(k, comma - k).c_str());
            if (comma == std::string::npos) break;
            k = comma + 1;
        }
        groups.push_back(g);
        at = end + 1;
    }
    return groups;
}

std::string Show(const std::vector<GroupEntry>& groups) {
    std::string s;
    for (const GroupEntry& g : groups) {
        s += std::to_string(g.Id) + "=" + g.Name + ":";
        for (size_t i = 0; i < g.Keywords.size(); ++i) s += (i ? "," : "") + g.Keywords[i];
        s += ";";
    }
    return s;
}

// The file changed on disk between two changes made here: the changes made here since the
// file was read are applied to what it holds now, group by Id, none made twice, and
// nothing else of it is lost. Groups are written "Id=Name:keyword,keyword;".
TEST_F(Groups, AMergeAppliesTheChangesMadeHereToTheFileAsItIsNowById) {
    auto named = [](const char* name) {
        return [name](CGroupManager* m) {
            GroupEntry* g = m->CreateGroup();
            g->Name = name;
        };
    };
    const struct {
        const char* label;
        const char* base;  // the file as this program read it, and the list then
        std::function<void(CGroupManager*)> change;  // what the user did here since
        const char* disk;     // the file as another hand left it
        const char* merged;
        const char* newBase;  // null: the file's groups as they are
    } cases[] = {
        {"added here, added there", "2=A:a;", named("Mine"), "2=A:a;3=Hand:h;", "2=A:a;3=Hand:h;4=Mine:;", nullptr},
        {"deleted here, edited there", "2=A:a;3=B:b;", [](CGroupManager* m) { m->DeleteGroup(m->FindGroup(2)); },
         "2=A:a,x;3=B:b;", "3=B:b;", nullptr},
        {"edited here, unchanged there", "2=A:a;3=B:b;", [](CGroupManager* m) { m->FindGroup(3)->Keywords = {"b2"}; },
         "2=A:a;3=B:b;4=C:c;", "2=A:a;3=B:b2;4=C:c;", nullptr},
        {"edited on both sides", "2=A:a,b,c;",
         [](CGroupManager* m) { m->FindGroup(2)->Keywords = {"a", "c", "mine"}; }, "2=A:a,b,c,theirs;",
         "2=A:a,c,theirs,mine;", nullptr},
        {"renamed here, keywords there", "2=A:a;", [](CGroupManager* m) { m->FindGroup(2)->Name = "Renamed"; },
         "2=A:a,x;", "2=Renamed:a,x;", nullptr},
        {"unchanged here, deleted there", "2=A:a;3=B:b;", named("N"), "3=B:b;", "3=B:b;4=N:;", nullptr},
        {"edited here, deleted there", "2=A:a;3=B:b;", [](CGroupManager* m) { m->FindGroup(2)->Keywords = {"a2"}; },
         "3=B:b;", "3=B:b;2=A:a2;", nullptr},
        {"renamed there, a keyword added here", "2=A:a;3=B:b;", [](CGroupManager* m) { m->FindGroup(3)->AddKeyword("x"); },
         "2=A:a;3=B renamed:b;", "2=A:a;3=B renamed:b,x;", nullptr},
        {"renamed on both sides", "2=A:a;", [](CGroupManager* m) { m->FindGroup(2)->Name = "Mine"; }, "2=Theirs:a;",
         "2=Mine:a;", nullptr},
        {"renamed in case there, edited here", "2=Tools:t;", [](CGroupManager* m) { m->FindGroup(2)->AddKeyword("u"); },
         "2=tools:t;", "2=tools:t,u;", nullptr},
        {"a keyword added on both sides", "2=A:a;", [](CGroupManager* m) { m->FindGroup(2)->AddKeyword("k"); },
         "2=A:a,k;", "2=A:a,k;", nullptr},
        {"a group added on both sides",
         "2=A:a;",
         [](CGroupManager* m) {
             GroupEntry* g = m->CreateGroup();
             g->Name = "X";
             g->Keywords = {"x", "y"};
         },
         "2=A:a;5=X:x,z;", "2=A:a;5=X:x,z,y;", nullptr},
        {"deleted here, renamed there", "2=A:a;3=B:b;", [](CGroupManager* m) { m->DeleteGroup(m->FindGroup(3)); },
         "2=A:a;3=Bee:b;", "2=A:a;", nullptr},
        {"made after deleting the group of the largest Id", "2=A:a;3=B:b;",
         [](CGroupManager* m) {
             m->DeleteGroup(m->FindGroup(3));
             GroupEntry* g = m->CreateGroup();
             g->Name = "N";
             g->AddKeyword("n");
         },
         "2=A:a;3=B:b,x;", "2=A:a;4=N:n;", nullptr},
        {"two of one name", "2=D:1;3=D:2;", [](CGroupManager* m) { m->FindGroup(3)->Keywords = {"two"}; },
         "2=D:1;9=X:x;3=D:2;", "2=D:1;9=X:x;3=D:two;", nullptr},
        {"a group the file gives no Id", "2=A:a;", [](CGroupManager* m) { m->FindGroup(2)->AddKeyword("b"); },
         "2=A:a;0=Hand:h;", "2=A:a,b;3=Hand:h;", "2=A:a;3=Hand:h;"},
        // The file still gives no Id to a group it gave none when read: it is the group of
        // the Id it was given here while it is as it was read.
        {"a group the file gives no Id edited here", "2=A:a;5=Hand:h;",
         [](CGroupManager* m) { m->FindGroup(5)->AddKeyword("x"); }, "2=A:a,y;0=Hand:h;", "2=A:a,y;5=Hand:h,x;",
         "2=A:a,y;5=Hand:h;"},
        {"a group the file gives no Id deleted here", "2=A:a;5=Hand:h;",
         [](CGroupManager* m) { m->DeleteGroup(m->FindGroup(5)); }, "2=A:a,y;0=Hand:h;", "2=A:a,y;",
         "2=A:a,y;5=Hand:h;"},
        {"the file emptied", "2=A:a;", named("N"), "", "3=N:;", nullptr},
        // Each Id is held by one group afterwards.
        {"made here; the file gave its Id to a group of its own and holds one of its name without an Id", "2=A:a;",
         [](CGroupManager* m) {
             GroupEntry* g = m->CreateGroup();
             g->Name = "X";
             g->Keywords = {"x"};
         },
         "2=A:a;3=Q:q;0=X:y;", "2=A:a;3=Q:q;4=X:y,x;", "2=A:a;3=Q:q;4=X:y;"},
        // B was read with A's Id (3 given here); the other hand deleted A.
        {"the first of two groups of one Id deleted there, the second edited here", "2=A:a;3=B:b;",
         [](CGroupManager* m) { m->FindGroup(3)->AddKeyword("mine"); }, "2=B:b;", "2=B:b,mine;", nullptr},
        {"an Id changed by hand, the group edited here", "2=A:a;3=B:b;",
         [](CGroupManager* m) { m->FindGroup(3)->AddKeyword("x"); }, "2=A:a;30=B:b;", "2=A:a;30=B:b,x;", nullptr},
        {"a group the file gives no Id, its keywords changed there and here", "2=A:a;5=Hand:h;",
         [](CGroupManager* m) { m->FindGroup(5)->AddKeyword("x"); }, "2=A:a;0=Hand:h,y;", "2=A:a;5=Hand:h,y,x;",
         "2=A:a;5=Hand:h,y;"},
        {"an Id and the keywords changed by hand, the group edited here", "2=A:a;3=B:b;",
         [](CGroupManager* m) { m->FindGroup(3)->AddKeyword("x"); }, "2=A:a;30=B:b,y;", "2=A:a;30=B:b,y,x;",
         nullptr},
        {"deleted here, made anew there under its name", "2=A:a;3=B:b;",
         [](CGroupManager* m) { m->DeleteGroup(m->FindGroup(3)); }, "2=A:a;30=B:z;", "2=A:a;30=B:z;", nullptr},
        // The other hand wrote B's Id onto A: A read first holds it, B reads as without one.
        {"one group's Id written onto another there, the second edited here", "2=A:a;3=B:b;",
         [](CGroupManager* m) { m->FindGroup(3)->AddKeyword("mine"); }, "3=A:a;0=B:b;", "3=A:a;4=B:b,mine;",
         "3=A:a;4=B:b;"},
        // An older build deleted A and numbered the rest by their place: B and C each hold
        // the Id of the group before them.
        {"the groups numbered anew there, one edited here", "2=A:a;3=B:b;4=C:c;",
         [](CGroupManager* m) { m->FindGroup(3)->AddKeyword("k"); }, "2=B:b;3=C:c;", "2=B:b,k;3=C:c;", nullptr},
        {"a copy of a group put before it there without an Id, the group edited here", "2=A:a;",
         [](CGroupManager* m) { m->FindGroup(2)->AddKeyword("k"); }, "0=A:a;2=A:a;", "3=A:a;2=A:a,k;", "3=A:a;2=A:a;"},
        {"its Id written onto another group there, and two copies of it put after without an Id", "2=A:a;",
         [](CGroupManager* m) { m->FindGroup(2)->AddKeyword("k"); }, "2=Z:z;0=A:a;0=A:a;", "2=Z:z;3=A:a,k;4=A:a;",
         "2=Z:z;3=A:a;4=A:a;"},
        {"two groups of one name the file gives no Id: the first deleted there, the second edited here",
         "2=A:a;5=Hand:h;6=Hand:k;", [](CGroupManager* m) { m->FindGroup(6)->AddKeyword("x"); }, "2=A:a;0=Hand:k;",
         "2=A:a;6=Hand:k,x;", "2=A:a;6=Hand:k;"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        Reset();
        m->AddStoredGroups(Parse(c.base));
        const std::vector<GroupEntry> base = m->UserGroups();
        ASSERT_EQ(c.base, Show(base));
        c.change(m);
        const bool changes = Show(m->UserGroups()) != c.merged;
        GroupsMerge merge;
        merge.base = base;
        merge.disk = Parse(c.disk);
        const GroupsMerged merged = m->MergeChanges(merge);
        EXPECT_EQ(changes, merged.changed);
        EXPECT_EQ(c.merged, Show(m->UserGroups()));
        EXPECT_EQ(c.newBase ? c.newBase : c.disk, Show(merged.newBase));
        // Each Id is held by one group.
        for (GroupEntry* g : m->m_Groups) EXPECT_EQ(g, m->FindGroup(g->Id)) << g->Name;
        // Merging once more with the file as the merge left it changes nothing.
        GroupsMerge again;
        again.base = again.disk = merged.newBase;
        EXPECT_FALSE(m->MergeChanges(again).changed);
        EXPECT_EQ(c.merged, Show(m->UserGroups()));
    }
}

}  // namespace
