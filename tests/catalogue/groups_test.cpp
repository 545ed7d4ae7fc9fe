// The groups model: keyword matching, the built-in "Other", Ids and the current group.
#include <gtest/gtest.h>
#include "catalogue/groups.h"
#include "catalogue_test_util.h"

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

}  // namespace
