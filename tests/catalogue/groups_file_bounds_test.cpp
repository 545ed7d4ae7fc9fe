// Files at the reader's bounds stay writable: the largest Id it takes, a group with as
// many attributes as the probe takes, namespace declarations under a prefix declared
// higher up. What a save adds itself (an Id, a name, the largest Id given) never turns
// a file the reader took into one it refuses, and an Id is given once per file, across
// runs.
#include <gtest/gtest.h>
#include "catalogue/groups.h"
#include "catalogue/groups_file.h"
#include "catalogue_test_util.h"
#include "support/xml_nodes.h"
#include <algorithm>
#include <cstring>
#include <functional>
#include <vector>

using cattest::ReadWholeFile;
using cattest::WriteWholeFile;

namespace {

class GroupsFileBounds : public cattest::GroupsTest {
protected:
    std::string Ids() const {
        std::string s;
        for (const GroupEntry* g : m->m_Groups) s += g->Name + "=" + std::to_string(g->Id) + " ";
        return s;
    }
    // Loads the file, makes the change and saves it, as one run of the program does.
    void Run(const std::function<void(CGroupManager*)>& change) {
        Reset();
        GroupsFileStatus status;
        ASSERT_TRUE(m->Load(path.c_str(), &status));
        ASSERT_EQ(GroupsFileStatus::Read, status.kind) << status.reason;
        change(m);
        ASSERT_TRUE(m->Save(path.c_str(), &status)) << status.writeError;
    }
    // The saved file is `expected`, node for node.
    void ExpectFile(const std::string& expected) {
        const std::string expectedPath = folder.Path() + "expected.xml";
        ASSERT_TRUE(WriteWholeFile(expectedPath, expected));
        EXPECT_EQ(xmlnodes::OfFile(expectedPath), xmlnodes::OfFile(path)) << ReadWholeFile(path);
        DeleteFileA(expectedPath.c_str());
    }
    cattest::TempFolder folder;
    std::string path = folder.Path() + "Purgelet.xml";
};

std::string File(const std::string& groups, const std::string& groupsAttributes = "") {
    return "<NimboPurgelet>\n<Purgelet" + groupsAttributes + ">\n" + groups + "</Purgelet>\n</NimboPurgelet>\n";
}

std::string Replaced(std::string text, const std::string& from, const std::string& to) {
    const std::string::size_type at = text.find(from);
    if (at == std::string::npos) return "(" + from + " not found)";
    return text.replace(at, from.size(), to);
}

const std::string kTop = std::to_string(kMaxStoredGroupId);

}  // namespace

// A file holding the largest Id the reader takes: new groups and a group the file gave no
// Id take the largest Ids below it that no group holds, and every save reads back.
TEST_F(GroupsFileBounds, TheLargestIdLeavesEveryChangeWritable) {
    const std::string top = "<Group Id=\"" + kTop + "\" Name=\"top\"/>\n";
    const struct {
        const char* label;
        std::string groups;
        std::string idsRead, idsAfter;
    } cases[] = {
        {"every group with its Id", top, "Other=0 top=" + kTop + " ",
         "Other=0 top=" + kTop + " new=1073741822 later=1073741821 "},
        {"and a group without one", top + "<Group Name=\"none\"/>\n",
         "Other=0 top=" + kTop + " none=1073741822 ",
         "Other=0 top=" + kTop + " none=1073741822 new=1073741821 later=1073741820 "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        ASSERT_TRUE(WriteWholeFile(path, File(c.groups)));
        Run([&](CGroupManager* m) {
            EXPECT_EQ(c.idsRead, Ids());
            m->CreateGroup()->Name = "new";
        });
        Run([](CGroupManager* m) {
            m->CreateGroup()->Name = "later";
            m->m_Groups[1]->AddKeyword("k");
        });
        Run([&](CGroupManager*) { EXPECT_EQ(c.idsAfter, Ids()); });
        // Written as they were read but for the keyword and the Ids given.
        std::string expected =
            Replaced(File(c.groups), "Name=\"top\"/>", "Name=\"top\">\n<Keyword>k</Keyword>\n</Group>");
        if (c.groups.find("none") != std::string::npos)
            expected = Replaced(expected, "<Group Name=\"none\"/>", "<Group Name=\"none\" Id=\"1073741822\"/>");
        std::string added;
        for (const char* name : {"new", "later"}) {
            const std::string::size_type at = c.idsAfter.find(std::string(" ") + name + "=");
            added += "<Group Id=\"" + c.idsAfter.substr(at + strlen(name) + 2, 10) + "\" Name=\"" + name + "\"/>\n";
        }
        ExpectFile(Replaced(expected, "</Purgelet>", added + "</Purgelet>"));
    }
}

// A group element with as many attributes as the probe takes and no Id, with and without
// a name: the Id and the name a save gives it never make the file one the probe refuses.
TEST_F(GroupsFileBounds, AGroupAtTheAttributeBoundTakesItsIdAndName) {
    auto wide = [](bool named) {
        std::string s = "<Group";
        if (named) s += " Name=\"wide\"";
        for (int i = named ? 1 : 0; i < kMaxGroupsFileAttributes; ++i) s += " a" + std::to_string(i) + "=\"v\"";
        return s + "/>\n";
    };
    const std::string other = "<Group Id=\"2\" Name=\"other\"/>\n";
    for (bool named : {true, false}) {
        SCOPED_TRACE(named ? "with a name" : "without a name");
        const std::string original = File(other + wide(named));
        ASSERT_TRUE(WriteWholeFile(path, original));
        // Another group changed: the wide one takes its Id.
        Run([](CGroupManager* m) { m->FindGroup(2)->AddKeyword("k"); });
        const std::string withId =
            Replaced(Replaced(original, "a999=\"v\"/>", "a999=\"v\" Id=\"3\"/>"), "Name=\"other\"/>",
                     "Name=\"other\">\n<Keyword>k</Keyword>\n</Group>");
        ExpectFile(withId);
        // The wide one renamed.
        Run([](CGroupManager* m) { m->FindGroup(3)->Name = "renamed"; });
        ExpectFile(named ? Replaced(withId, "Name=\"wide\"", "Name=\"renamed\"")
                         : Replaced(withId, "Id=\"3\"/>", "Id=\"3\" Name=\"renamed\"/>"));
    }
}

// Elements that declare a namespace of their own and use a prefix declared on the root
// are written with their own declarations alone, save after save.
TEST_F(GroupsFileBounds, ElementsThatUseAPrefixDeclaredAboveKeepTheirOwnDeclarations) {
    std::string extras;
    for (int i = 0; i < 33; ++i) extras += "<Extra xmlns:q=\"urn:q\" p:y=\"2\"><q:in p:z=\"3\"/></Extra>\n";
    const std::string original = "<NimboPurgelet xmlns:p=\"urn:p\">\n" + extras +
                                 "<Purgelet>\n<Group Id=\"2\" Name=\"g\">\n</Group>\n</Purgelet>\n</NimboPurgelet>\n";
    ASSERT_TRUE(WriteWholeFile(path, original));
    std::string expected = original, keywords;
    for (int save = 1; save <= 20; ++save) {
        SCOPED_TRACE(save);
        const std::string keyword = "k" + std::to_string(save);
        Run([&](CGroupManager* m) { m->FindGroup(2)->AddKeyword(keyword.c_str()); });
        keywords += "<Keyword>" + keyword + "</Keyword>\n";
        ExpectFile(Replaced(original, "Name=\"g\">\n", "Name=\"g\">\n" + keywords));
        const std::string saved = ReadWholeFile(path);
        size_t declarations = 0;
        for (size_t at = saved.find("xmlns"); at != std::string::npos; at = saved.find("xmlns", at + 1)) ++declarations;
        EXPECT_EQ(34u, declarations) << saved;
    }
}

// An Id is given once per file: the largest Id given stays in the file when the group
// that held it is deleted, so that the next run does not give it again; files without it
// are read as before, and it is written only when it must grow.
TEST_F(GroupsFileBounds, TheLargestIdGivenStaysInTheFileAcrossRuns) {
    const std::string original = File("<Group Id=\"2\" Name=\"a\"/>\n<Group Id=\"3\" Name=\"b\"/>\n");
    ASSERT_TRUE(WriteWholeFile(path, original));
    Run([](CGroupManager* m) { m->DeleteGroup(m->FindGroup(3)); });
    const std::string deleted = File("<Group Id=\"2\" Name=\"a\"/>\n", " LastId=\"3\"");
    ExpectFile(deleted);
    Run([](CGroupManager* m) {
        EXPECT_EQ(4, m->CreateGroup()->Id);
        m->m_Groups.back()->Name = "c";
    });
    ExpectFile(Replaced(deleted, "</Purgelet>", "<Group Id=\"4\" Name=\"c\"/>\n</Purgelet>"));
    // A hand edit lowered it: the largest Id the file holds still counts.
    ASSERT_TRUE(WriteWholeFile(path, Replaced(ReadWholeFile(path), "LastId=\"3\"", "LastId=\"1\"")));
    Run([](CGroupManager* m) { m->DeleteGroup(m->FindGroup(4)); });
    ExpectFile(File("<Group Id=\"2\" Name=\"a\"/>\n", " LastId=\"4\""));
    // Not a plain Id: none, as for a group.
    ASSERT_TRUE(WriteWholeFile(path, File("<Group Id=\"2\" Name=\"a\"/>\n", " LastId=\"07\"")));
    Run([](CGroupManager* m) { EXPECT_EQ(3, m->CreateGroup()->Id); });
}

// An Id is given once per file also where Ids are given downwards from the largest the
// reader takes: the lowest top Id the file held stays in it when its group is deleted,
// and neither kept Id is written over one that says more.
TEST_F(GroupsFileBounds, AnIdGivenDownwardsFromTheTopIsGivenOncePerFileAcrossRuns) {
    const std::string below = std::to_string(kMaxStoredGroupId - 1);
    const struct {
        const char* label;
        std::string attributes;
        std::vector<std::string> ids, deleted;
        std::string attributesAfter;
        int next;  // the Id of a group made by the run after
    } cases[] = {
        {"the group just below the largest deleted", "", {"2", below, kTop}, {below},
         " LowestTopId=\"" + below + "\"", kMaxStoredGroupId - 2},
        {"the largest deleted", "", {below, kTop}, {kTop}, " LastId=\"" + kTop + "\"", kMaxStoredGroupId - 2},
        {"both deleted", "", {"2", below, kTop}, {below, kTop},
         " LastId=\"" + kTop + "\" LowestTopId=\"" + below + "\"", kMaxStoredGroupId - 2},
        {"a lower top Id kept", " LowestTopId=\"1000000000\"", {"2", below, kTop}, {below},
         " LowestTopId=\"1000000000\"", 999999999},
        {"a kept Id that is none", " LowestTopId=\"05\"", {"2", below, kTop}, {below},
         " LowestTopId=\"" + below + "\"", kMaxStoredGroupId - 2},
        {"a kept Id below the top half", " LowestTopId=\"536870900\"", {"2", "536870912", kTop}, {"536870912"},
         " LowestTopId=\"536870900\"", 536870899},
        {"a larger LastId kept", " LastId=\"9\"", {"2", "3"}, {"3"}, " LastId=\"9\"", 10},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        std::string groups, kept;
        for (const std::string& id : c.ids) {
            const std::string group = "<Group Id=\"" + id + "\" Name=\"g" + id + "\"/>\n";
            groups += group;
            if (std::find(c.deleted.begin(), c.deleted.end(), id) == c.deleted.end()) kept += group;
        }
        ASSERT_TRUE(WriteWholeFile(path, File(groups, c.attributes)));
        Run([&](CGroupManager* m) {
            for (const std::string& id : c.deleted) m->DeleteGroup(m->FindGroup(std::stoi(id)));
        });
        ExpectFile(File(kept, c.attributesAfter));
        Run([&](CGroupManager* m) { EXPECT_EQ(c.next, m->CreateGroup()->Id); });
    }
}
