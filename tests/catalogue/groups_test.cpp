// The groups model: keyword matching, the built-in "Other", Ids and the current group.
#include <gtest/gtest.h>
#include "catalogue/groups.h"
#include "catalogue_test_util.h"
#include <algorithm>
#include <functional>

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
    EXPECT_EQ(1, a->Id);
    EXPECT_EQ(2, b->Id);
    EXPECT_EQ(3, c->Id);
    EXPECT_EQ("", c->Name);
    EXPECT_EQ(0, c->BuiltIn);

    m->DeleteGroup(a);
    GroupEntry* d = m->CreateGroup();
    GroupEntry* e = Add("E", {});
    EXPECT_EQ(4, d->Id);
    EXPECT_EQ(5, e->Id);
    for (size_t i = 0; i < m->m_Groups.size(); ++i)
        for (size_t j = i + 1; j < m->m_Groups.size(); ++j)
            EXPECT_NE(m->m_Groups[i]->Id, m->m_Groups[j]->Id) << m->m_Groups[i]->Name << " / " << m->m_Groups[j]->Name;
    EXPECT_EQ(b, m->FindGroup(2));
    EXPECT_EQ(d, m->FindGroup(4));
    EXPECT_TRUE(m->FindGroup(1) == nullptr);
    EXPECT_TRUE(m->FindGroup(-1) == nullptr);
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
    EXPECT_EQ(1, g->Id);  // not the source's
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
        g.Name = one.substr(0, one.find(':'));
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
        s += g.Name + ":";
        for (size_t i = 0; i < g.Keywords.size(); ++i) s += (i ? "," : "") + g.Keywords[i];
        s += ";";
    }
    return s;
}

// The file changed on disk between two changes made here: the changes made here since the
// file was read are applied to what it holds now, and nothing else of it is lost.
TEST_F(Groups, AMergeAppliesTheChangesMadeHereToTheFileAsItIsNow) {
    const struct {
        const char* label;
        const char* base;  // the file as this program read it, and the list then
        std::function<void(CGroupManager*)> change;  // what the user did here since
        const char* disk;  // the file as another hand left it
        const char* merged;
    } cases[] = {
        {"added here, added there", "A:a;", [](CGroupManager* m) { m->CreateGroup()->Name = "Mine"; }, "A:a;Hand:h;",
         "A:a;Hand:h;Mine:;"},
        {"deleted here, edited there", "A:a;B:b;", [](CGroupManager* m) { m->DeleteGroup(m->m_Groups[1]); },
         "A:a,x;B:b;", "B:b;"},
        {"edited here, unchanged there", "A:a;B:b;",
         [](CGroupManager* m) { m->m_Groups[2]->Keywords = {"b2"}; }, "A:a;B:b;C:c;", "A:a;B:b2;C:c;"},
        {"edited on both sides", "A:a,b,c;",
         [](CGroupManager* m) { m->m_Groups[1]->Keywords = {"a", "c", "mine"}; }, "A:a,b,c,theirs;",
         "A:a,c,theirs,mine;"},
        {"renamed here, keywords there", "A:a;",
         [](CGroupManager* m) { m->m_Groups[1]->Name = "Renamed"; }, "A:a,x;", "Renamed:a,x;"},
        {"unchanged here, deleted there", "A:a;B:b;", [](CGroupManager* m) { m->CreateGroup()->Name = "N"; },
         "B:b;", "B:b;N:;"},
        {"edited here, deleted there", "A:a;B:b;", [](CGroupManager* m) { m->m_Groups[1]->Keywords = {"a2"}; },
         "B:b;", "B:b;A:a2;"},
        {"two of one name", "D:1;D:2;", [](CGroupManager* m) { m->m_Groups[2]->Keywords = {"two"}; },
         "D:1;X:x;D:2;", "D:1;X:x;D:two;"},
        {"the file emptied", "A:a;", [](CGroupManager* m) { m->CreateGroup()->Name = "N"; }, "", "N:;"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        Reset();
        for (const GroupEntry& g : Parse(c.base)) m->AddGroup(g);
        const std::vector<GroupEntry> base = m->UserGroups();
        c.change(m);
        std::vector<GroupEntry*> objects(m->m_Groups.begin(), m->m_Groups.end());
        std::vector<GroupEntry> newBase;
        const bool changes = Show(m->UserGroups()) != c.merged;
        EXPECT_EQ(changes, m->MergeChanges(base, Parse(c.disk), &newBase));
        EXPECT_EQ(c.merged, Show(m->UserGroups()));
        EXPECT_EQ(c.disk, Show(newBase));
        // A group that stays is the same object; Ids stay distinct.
        for (GroupEntry* g : m->m_Groups) {
            if (std::find(objects.begin(), objects.end(), g) == objects.end()) continue;
            EXPECT_EQ(g, m->FindGroup(g->Id));
        }
        // Merging once more against the new base changes nothing that was applied.
        EXPECT_FALSE(m->MergeChanges(newBase, Parse(c.disk)));
        EXPECT_EQ(c.merged, Show(m->UserGroups()));
    }
}

}  // namespace
