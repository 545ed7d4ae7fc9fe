// The groups file through the platform's XML document object: layout, round trip, what
// happens to files that are not what we wrote, and what a save writes: UTF-8 under its
// own declaration whatever the file declared, names and keywords that read back equal or
// no write at all, the old file whole when the write fails, its attributes kept.
#include <gtest/gtest.h>
#include "catalogue/groups.h"
#include "catalogue/groups_file.h"
#include "catalogue_test_util.h"
#include "support/child_run.h"
#include "support/xml_nodes.h"
#include <msxml.h>
#include <functional>

using cattest::ReadWholeFile;
using cattest::TempFolder;
using cattest::Utf16LE;
using cattest::WriteWholeFile;

namespace {

class GroupsFile : public cattest::GroupsTest {
protected:
    std::string Names() const {
        std::string s;
        for (GroupEntry* g : m->m_Groups) {
            s += g->Name + "(";
            for (size_t i = 0; i < g->Keywords.size(); ++i) s += (i ? "," : "") + g->Keywords[i];
            s += ")";
        }
        return s;
    }
    TempFolder folder;
    std::string path = folder.Path() + "Purgelet.xml";
};

// The body of a file as we write it: everything after the XML declaration, whose exact
// bytes belong to the document object.
static std::string Body(const std::string& bytes) {
    std::string::size_type end = bytes.find("?>");
    if (bytes.compare(0, 5, "<?xml") != 0 || end == std::string::npos) return "(no declaration) " + bytes;
    std::string::size_type start = end + 2;
    while (start < bytes.size() && (bytes[start] == '\r' || bytes[start] == '\n')) ++start;
    return bytes.substr(start);
}

// The text with its first `from` replaced by `to`.
static std::string Replaced(std::string text, const std::string& from, const std::string& to) {
    const std::string::size_type at = text.find(from);
    if (at == std::string::npos) return "(" + from + " not found)";
    return text.replace(at, from.size(), to);
}

// Merges what the manager changed since base into the file at path and writes it, as a save
// does after another program changed the file.
static ::testing::AssertionResult MergeIntoFile(CGroupManager* m, const std::vector<GroupEntry>& base,
                                                const std::string& path) {
    CGroupsFile file;
    if (!file.Open(path.c_str())) return ::testing::AssertionFailure() << "the file did not open";
    GroupsMerge merge;
    merge.base = base;
    file.ReadGroups(&merge.disk);
    file.ReserveIds(m);
    merge.heldIds = file.OtherIds();
    merge.given = file.IdsGiven();
    const GroupsMerged merged = m->MergeChanges(merge);
    if (!file.WriteGroups(m, &merged.newBase) || !file.Save()) return ::testing::AssertionFailure() << file.Status().writeError;
    return ::testing::AssertionSuccess();
}

static size_t FilesIn(const std::string& folder) {
    size_t n = 0;
    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA((folder + "*").c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE) return 0;
    do {
        if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) ++n;
    } while (FindNextFileA(h, &fd));
    FindClose(h);
    return n;
}

TEST_F(GroupsFile, RoundTripKeepsGroupsKeywordsAndOneElementPerLine) {
    Add("A", {"x", "y"});
    Add("B", {});
    Add("C & <D>", {"", "\xE9t\xE9"});
    ASSERT_TRUE(m->Save(path.c_str()));
    const std::string bytes = ReadWholeFile(path);
    EXPECT_NE(std::string::npos, bytes.substr(0, bytes.find("?>")).find("encoding=\"utf-8\"")) << bytes;
    EXPECT_EQ(
        "<NimboPurgelet Version=\"1.1\">\n"
        "<Purgelet>\n"
        "<Group Id=\"2\" Name=\"A\">\n"
        "<Keyword>x</Keyword>\n"
        "<Keyword>y</Keyword>\n"
        "</Group>\n"
        "<Group Id=\"3\" Name=\"B\"/>\n"
        "<Group Id=\"4\" Name=\"C &amp; &lt;D&gt;\">\n"
        "<Keyword/>\n"
        "<Keyword>\xC3\xA9t\xC3\xA9</Keyword>\n"  // UTF-8
        "</Group>\n"
        "</Purgelet>\n"
        "</NimboPurgelet>",
        Body(bytes).substr(0, Body(bytes).find_last_not_of("\r\n") + 1));
    EXPECT_EQ(1u, FilesIn(folder.Path()));  // no temporary file left behind

    Reset();
    ASSERT_TRUE(m->Load(path.c_str()));
    EXPECT_EQ("Other()A(x,y)B()C & <D>(,\xE9t\xE9)", Names());
    // Each group keeps the file's Id.
    EXPECT_EQ(2, m->m_Groups[1]->Id);
    EXPECT_EQ(4, m->m_Groups[3]->Id);

    // Loading appends; saving what was loaded writes the same bytes again.
    ASSERT_TRUE(m->Save(path.c_str()));
    EXPECT_EQ(bytes, ReadWholeFile(path));
}

// A change edits the one group it concerns; the rest of the document stays node for node
// as it was read: comments, processing instructions, blanks, the spelling of attributes,
// CDATA sections, a group without a name.
TEST_F(GroupsFile, EachChangeEditsOnlyTheGroupItConcerns) {
    const std::string original =
        "<?xml version=\"1.0\"?>\r\n"
        "<!-- outside the root -->\r\n"
        "<NimboPurgelet Version=\"1.0\" Owner=\"me\">\r\n"
        "  <!-- mine -->\r\n"
        "  <Purgelet>\r\n"
        "    <Group Id=\"9\" NAME=\"Caps\"><Keyword>a</Keyword><Keyword><![CDATA[<b>]]></Keyword>"
        "<Keyword>c</Keyword></Group>\r\n"
        "    <Group Id=\"1\"><?note x?>\r\n      <Keyword>nameless</Keyword>\r\n    </Group>\r\n"
        "    <Group Id=\"4\" Name=\"Gone\"><Keyword>g</Keyword></Group>\r\n"
        "    <Group Id=\"5\" Name=\"Kept\">\r\n      <Keyword>k</Keyword>\r\n    </Group>\r\n"
        "  </Purgelet>\r\n"
        "</NimboPurgelet>\r\n";
    const struct {
        const char* label;
        std::function<void(CGroupManager*)> change;
        std::string after;  // the original as it should be after the change
    } cases[] = {
        {"nothing", [](CGroupManager*) {}, original},
        {"a rename keeps the attribute's spelling", [](CGroupManager* m) { m->FindGroup(9)->Name = "Capitals"; },
         Replaced(original, "NAME=\"Caps\"", "NAME=\"Capitals\"")},
        {"a name for a nameless group", [](CGroupManager* m) { m->FindGroup(1)->Name = "Named"; },
         Replaced(original, "<Group Id=\"1\">", "<Group Id=\"1\" Name=\"Named\">")},
        {"a keyword added", [](CGroupManager* m) { m->FindGroup(5)->AddKeyword("k2"); },
         Replaced(original, "<Keyword>k</Keyword>\r\n", "<Keyword>k</Keyword>\n<Keyword>k2</Keyword>\r\n")},
        {"a keyword changed in the middle", [](CGroupManager* m) { m->FindGroup(9)->Keywords[1] = "B"; },
         Replaced(original, "<Keyword><![CDATA[<b>]]></Keyword>", "\n<Keyword>B</Keyword>")},
        {"keywords changed on both sides of one that stays",
         [](CGroupManager* m) { m->FindGroup(9)->Keywords = {"A", "<b>", "C"}; },
         Replaced(original, "<Keyword>a</Keyword><Keyword><![CDATA[<b>]]></Keyword><Keyword>c</Keyword>",
                  "\n<Keyword>A</Keyword><Keyword><![CDATA[<b>]]></Keyword>\n<Keyword>C</Keyword>")},
        {"a keyword removed", [](CGroupManager* m) { m->FindGroup(1)->Keywords.clear(); },
         Replaced(original, "\r\n      <Keyword>nameless</Keyword>", "")},
        {"a group deleted", [](CGroupManager* m) { m->DeleteGroup(m->FindGroup(4)); },
         Replaced(original, "\r\n    <Group Id=\"4\" Name=\"Gone\"><Keyword>g</Keyword></Group>", "")},
        {"a group added", [](CGroupManager* m) { m->CreateGroup()->Name = "New"; },
         Replaced(original, "\r\n  </Purgelet>", "\n<Group Id=\"10\" Name=\"New\"/>\r\n  </Purgelet>")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        Reset();
        ASSERT_TRUE(WriteWholeFile(path, original));
        GroupsFileStatus status;
        ASSERT_TRUE(m->Load(path.c_str(), &status));
        EXPECT_EQ(GroupsFileStatus::Read, status.kind) << status.reason;
        EXPECT_EQ("Other()Caps(a,<b>,c)(nameless)Gone(g)Kept(k)", Names());
        c.change(m);
        ASSERT_TRUE(m->Save(path.c_str(), &status)) << status.writeError;
        ASSERT_TRUE(WriteWholeFile(folder.Path() + "expected.xml", c.after));
        EXPECT_EQ(xmlnodes::OfFile(folder.Path() + "expected.xml"), xmlnodes::OfFile(path));
        DeleteFileA((folder.Path() + "expected.xml").c_str());
    }
}

// What the program does not use or cannot show stays in the file as it was through a
// change; the groups it shows are read.
TEST_F(GroupsFile, WhatTheProgramDoesNotUseOrShowStaysThroughAChange) {
    const struct {
        const char* label;
        const char* inside;   // the root's content
        const char* shown;    // the groups read
        const char* unshown;  // the groups left out, as the code page shows their names
        int newId;            // the Id of a group added then
    } cases[] = {
        {"comments and processing instructions",
         "<!-- mine --><?app x?><Purgelet><!-- g --><Group Id=\"2\" Name=\"g\"><?k?><Keyword>k</Keyword><!-- k -->"
         "</Group></Purgelet>",
         "Other()g(k)", "", 3},
        {"attributes the program does not use",
         "<Purgelet a=\"1\"><Group Id=\"2\" Name=\"g\" Color=\"red\"/><Group Id=\"3\" ID=\"30\" Name=\"h\">"
         "<Keyword Case=\"1\">k</Keyword></Group></Purgelet>",
         "Other()g()h(k)", "", 4},
        {"elements and text the program does not use",
         "<Notes>mine</Notes>loose<Purgelet><group Id=\"7\" Name=\"lower\"/><Group Id=\"2\" Name=\"g\">"
         "<keyword>lower</keyword><Key\xE2\x80\x8Dword>k</Key\xE2\x80\x8Dword><Keyword>a<b/>c</Keyword></Group>"
         "text</Purgelet>",
         "Other()g(ac)", "", 3},
        {"namespace declarations",
         "<Notes xmlns=\"urn:n\" xmlns:n=\"urn:m\" n:a=\"1\"><n:x/></Notes><Purgelet xmlns:t=\"urn:t\">"
         "<Group Id=\"2\" Name=\"g\" t:tag=\"1\"/></Purgelet>",
         "Other()g()", "", 3},
        {"two groups elements: the last is read",
         "<Purgelet><Group Id=\"2\" Name=\"First\"/><Group Id=\"8\" Name=\"Far\"/></Purgelet>"
         "<Purgelet><Group Id=\"3\" Name=\"Second\"/></Purgelet>",
         "Other()Second()", "", 9},
        {"names and keywords the code page cannot show",
         "<Purgelet><Group Id=\"2\" Name=\"g\"/><Group Id=\"6\" Name=\"\xD0\x96\xD0\xB6\"/>"
         "<Group Id=\"3\" Name=\"Mine\"><Keyword>k</Keyword><Keyword>\xC4\x81shok</Keyword></Group>"
         "<Group Id=\"4\" Name=\"Cafe\xCC\x81\"/><Group Id=\"5\" Name=\"x\"><Keyword>\xF0\x9F\x98\x80</Keyword>"
         "</Group></Purgelet>",
         "Other()g()", "??,Mine,Cafe\xB4,x", 7},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        Reset();
        const std::string bytes = std::string("<NimboPurgelet>") + c.inside + "</NimboPurgelet>";
        ASSERT_TRUE(WriteWholeFile(path, bytes));
        CGroupsFile file;
        ASSERT_TRUE(file.Open(path.c_str()));
        EXPECT_EQ(GroupsFileStatus::Read, file.Status().kind) << file.Status().reason;
        file.ReadGroups(m);
        EXPECT_EQ(c.shown, Names());
        std::string unshown;
        for (const std::string& name : file.UnshownGroups()) unshown += (unshown.empty() ? "" : ",") + name;
        EXPECT_EQ(c.unshown, unshown);

        Add("Mine", {"m"});
        EXPECT_EQ(c.newId, m->m_Groups.back()->Id);
        ASSERT_TRUE(file.WriteGroups(m));
        ASSERT_TRUE(file.Save()) << file.Status().writeError;
        std::string after = bytes;
        after.insert(after.rfind("</Purgelet>"),
                     "\n<Group Id=\"" + std::to_string(c.newId) + "\" Name=\"Mine\">\n<Keyword>m</Keyword>\n</Group>");
        ASSERT_TRUE(WriteWholeFile(folder.Path() + "expected.xml", after));
        EXPECT_EQ(xmlnodes::OfFile(folder.Path() + "expected.xml"), xmlnodes::OfFile(path));
        DeleteFileA((folder.Path() + "expected.xml").c_str());
        // The document object does not list every namespace declaration among the nodes.
        const std::string saved = ReadWholeFile(path);
        for (const char* declaration : {"xmlns=\"urn:n\"", "xmlns:n=\"urn:m\"", "xmlns:t=\"urn:t\""})
            EXPECT_EQ(bytes.find(declaration) != std::string::npos, saved.find(declaration) != std::string::npos)
                << declaration << "\n" << saved;
    }
}

// Groups are followed by the Id the file gives them. A group whose Id is missing, not a
// plain number or taken by an earlier group gets one of its own, written at the next
// save; no new group takes an Id the file or this run used.
TEST_F(GroupsFile, GroupsKeepTheFilesIdsAndNewGroupsTakeNoneUsedBefore) {
    ASSERT_TRUE(WriteWholeFile(path,
                               "<NimboPurgelet><Purgelet>"
                               "<Group Id=\"12\" Name=\"a\"/><Group Name=\"none\"/><Group Id=\"12\" Name=\"twin\"/>"
                               "<Group Id=\"x1\" Name=\"letters\"/><Group Id=\"-3\" Name=\"negative\"/>"
                               "<Group Id=\"0\" Name=\"zero\"/><Group Id=\" 7\" Name=\"blank\"/>"
                               "<Group Id=\"07\" Name=\"lead\"/>"
                               "<Group Id=\"99999999999\" Name=\"huge\"/><Group Id=\"1073741824\" Name=\"above\"/>"
                               "<Group Id=\"3\" Name=\"b\"/><Group Id=\"20\" Name=\"\xD0\x96\"/>"
                               "</Purgelet></NimboPurgelet>"));
    ASSERT_TRUE(m->Load(path.c_str()));
    std::string ids;
    for (const GroupEntry* g : m->m_Groups) ids += g->Name + "=" + std::to_string(g->Id) + " ";
    EXPECT_EQ("Other=0 a=12 none=21 twin=22 letters=23 negative=24 zero=25 blank=26 lead=27 huge=28 above=29 b=3 ",
              ids);

    // The group of the largest Id deleted, a new one made: it takes no Id used before.
    m->DeleteGroup(m->FindGroup(29));
    EXPECT_EQ(30, m->CreateGroup()->Id);
    m->m_Groups.back()->Name = "new";
    ASSERT_TRUE(m->Save(path.c_str()));
    Reset();
    ASSERT_TRUE(m->Load(path.c_str()));
    ids.clear();
    for (const GroupEntry* g : m->m_Groups) ids += g->Name + "=" + std::to_string(g->Id) + " ";
    EXPECT_EQ("Other=0 a=12 none=21 twin=22 letters=23 negative=24 zero=25 blank=26 lead=27 huge=28 b=3 new=30 ", ids);
}

// The other hand renamed a group beyond the code page while it was changed here, and made
// a group of its own beyond it under the Id this run gave next: the file's groups stay as
// they are, the change made here to the renamed group is dropped and named, and the group
// made here takes an Id the file does not hold, so that the save reads back.
TEST_F(GroupsFile, AMergeLeavesTheFileItsGroupsTheCodePageCannotShow) {
    const std::string head = "<NimboPurgelet><Purgelet>\n<Group Id=\"2\" Name=\"a\"/>\n";
    ASSERT_TRUE(WriteWholeFile(path, head + "<Group Id=\"3\" Name=\"b\"/>\n</Purgelet></NimboPurgelet>"));
    ASSERT_TRUE(m->Load(path.c_str()));
    const std::vector<GroupEntry> base = m->UserGroups();
    m->FindGroup(3)->AddKeyword("mine");
    GroupEntry* made = m->CreateGroup();
    made->Name = "c";
    ASSERT_EQ(4, made->Id);
    const std::string theirs = head + "<Group Id=\"3\" Name=\"\xD0\x96\"/>\n<Group Id=\"4\" Name=\"\xD0\x97\"/>\n";
    ASSERT_TRUE(WriteWholeFile(path, theirs + "</Purgelet></NimboPurgelet>"));

    CGroupsFile file;
    ASSERT_TRUE(file.Open(path.c_str()));
    GroupsMerge merge;
    merge.base = base;
    file.ReadGroups(&merge.disk);
    merge.heldIds = file.OtherIds();
    const GroupsMerged merged = m->MergeChanges(merge);
    EXPECT_EQ("Other()a()c()", Names());
    ASSERT_EQ(1u, merged.dropped.size());
    EXPECT_EQ("b", merged.dropped[0].name);
    EXPECT_FALSE(merged.dropped[0].bDelete);
    ASSERT_TRUE(file.WriteGroups(m, &merged.newBase) && file.Save()) << file.Status().writeError;
    EXPECT_EQ(theirs + "<Group Id=\"5\" Name=\"c\"/>\n</Purgelet></NimboPurgelet>\n", Body(ReadWholeFile(path)));
}

// Another copy gave the Id this run gave next to a group of its own and deleted it before
// this run's save (its "LastId" keeps it): a third copy that read the file while that group
// was in it follows the Id, so the group made here must not arrive under it.
TEST_F(GroupsFile, AMergeGivesAGroupMadeHereNoIdTheFileGaveElsewhere) {
    const std::string head = "<NimboPurgelet><Purgelet";
    const std::string groups = ">\n<Group Id=\"2\" Name=\"a\"/>\n<Group Id=\"3\" Name=\"b\"/>\n";
    ASSERT_TRUE(WriteWholeFile(path, head + groups + "</Purgelet></NimboPurgelet>"));
    ASSERT_TRUE(m->Load(path.c_str()));
    const std::vector<GroupEntry> base = m->UserGroups();
    GroupEntry* made = m->CreateGroup();
    made->Name = "c";
    ASSERT_EQ(4, made->Id);
    const std::string theirs = head + " LastId=\"4\"" + groups;
    ASSERT_TRUE(WriteWholeFile(path, theirs + "</Purgelet></NimboPurgelet>"));

    ASSERT_TRUE(MergeIntoFile(m, base, path));
    EXPECT_EQ(theirs + "<Group Id=\"5\" Name=\"c\"/>\n</Purgelet></NimboPurgelet>\n", Body(ReadWholeFile(path)));
}

// Another program wrote Office's Id onto Tools, which comes first, and added a keyword to
// one of them or none; the user renamed, gave a keyword to or deleted one of them here. The
// change lands on that group, whichever of the two holds the Id first, and the write edits
// only it (and gives the later an Id of its own). The same when another copy of the
// program saved the file between (it keeps the Id on Tools and gives Office a fresh one).
TEST_F(GroupsFile, AChangeToOneOfTwoGroupsOfOneIdLandsOnTheGroupChanged) {
    using Keywords = std::vector<std::string>;
    auto group = [](const std::string& attributes, const Keywords& keywords) {
        std::string text = "<Group " + attributes + (keywords.empty() ? "/>\n" : ">\n");
        for (const std::string& k : keywords) text += "<Keyword>" + k + "</Keyword>\n";
        return keywords.empty() ? text : text + "</Group>\n";
    };
    auto file = [](const std::string& groups) {
        return "<NimboPurgelet><Purgelet>\n" + groups + "</Purgelet></NimboPurgelet>";
    };
    const std::string tools = group("Id=\"3\" Name=\"Tools\"", {"t"});
    const std::string toolsX = group("Id=\"3\" Name=\"Tools\"", {"t", "x"});
    const std::string work = group("Id=\"3\" Name=\"Work\"", {"t"}), work4 = group("Name=\"Work\" Id=\"4\"", {"o"});
    const std::string first = group("Id=\"2\" Name=\"Tools\"", {"t"}) + group("Id=\"3\" Name=\"Office\"", {"o"});
    const std::string office4 = group("Name=\"Office\" Id=\"4\"", {"o"});
    const std::string office4X = group("Name=\"Office\" Id=\"4\"", {"o", "x"});
    const std::string office4K = group("Name=\"Office\" Id=\"4\"", {"o", "k"});
    const struct {
        const char* what;
        int changed;       // the group changed here: 2 Tools (the earlier), 3 Office (the later)
        char change;       // 'r' renamed Work, 'k' a keyword "k" added, 'd' deleted
        const char* edit;  // the group the other program gave the keyword "x", or ""
        std::string written;
        // The groups at the start and as the other program leaves them, when not those above.
        std::string first = "", theirs = "";
    } cases[] = {
        {"the later renamed", 3, 'r', "", file(tools + work4)},
        {"the later renamed, the earlier edited", 3, 'r', "Tools", file(toolsX + work4)},
        {"the later given a keyword", 3, 'k', "", file(tools + office4K)},
        {"the later given a keyword, the earlier edited", 3, 'k', "Tools", file(toolsX + office4K)},
        {"the later deleted", 3, 'd', "", file(tools)},
        {"the later deleted, the earlier edited", 3, 'd', "Tools", file(toolsX)},
        {"the earlier renamed", 2, 'r', "", file(work + office4)},
        {"the earlier renamed, the later edited", 2, 'r', "Office", file(work + office4X)},
        {"the earlier renamed and edited there", 2, 'r', "Tools",
         file(group("Id=\"3\" Name=\"Work\"", {"t", "x"}) + office4)},
        {"the earlier given a keyword", 2, 'k', "", file(group("Id=\"3\" Name=\"Tools\"", {"t", "k"}) + office4)},
        {"the earlier given a keyword, the later edited", 2, 'k', "Office",
         file(group("Id=\"3\" Name=\"Tools\"", {"t", "k"}) + office4X)},
        {"the earlier given a keyword and edited there", 2, 'k', "Tools",
         file(group("Id=\"3\" Name=\"Tools\"", {"t", "x", "k"}) + office4)},
        {"the earlier deleted", 2, 'd', "", file(office4)},
        {"the earlier deleted, the later edited", 2, 'd', "Office", file(office4X)},
        {"the earlier deleted and edited there", 2, 'd', "Tools", file(office4)},
        // The other program wrote the earlier's Id onto the later: a change to the earlier
        // never lands on the later, which is not the group of that Id as read.
        {"the earlier given a keyword and edited there, its Id written onto the later", 2, 'k', "",
         file(group("Id=\"2\" Name=\"Tools\"", {"t", "x", "k"}) + group("Name=\"Office\" Id=\"3\"", {"o"})),
         first, group("Id=\"2\" Name=\"Tools\"", {"t", "x"}) + group("Id=\"2\" Name=\"Office\"", {"o"})},
        {"the earlier given a keyword and renamed there, its Id written onto a later of its name", 2, 'k', "",
         file(group("Id=\"2\" Name=\"Kit\"", {"t", "k"}) + group("Name=\"Tools\" Id=\"3\"", {"u"})),
         group("Id=\"2\" Name=\"Tools\"", {"t"}) + group("Id=\"3\" Name=\"Tools\"", {"u"}),
         group("Id=\"2\" Name=\"Kit\"", {"t"}) + group("Id=\"2\" Name=\"Tools\"", {"u"})},
    };
    // Each also with another copy's save between the other program's edit and the merge
    // here: that copy read the file with the Id twice, and wrote the later holder under an Id
    // of its own.
    for (const auto& c : cases)
        for (const bool savedBetween : {false, true}) {
            SCOPED_TRACE(std::string(c.what) + (savedBetween ? ", then another copy's save" : ""));
            const std::string edit = c.edit;
            const Keywords t = edit == "Tools" ? Keywords{"t", "x"} : Keywords{"t"};
            const Keywords o = edit == "Office" ? Keywords{"o", "x"} : Keywords{"o"};
            std::string theirs = file(c.theirs.empty() ? group("Id=\"3\" Name=\"Tools\"", t) +
                                                             group("Id=\"3\" Name=\"Office\"", o)
                                                       : c.theirs);
            if (savedBetween) {
                Reset();
                ASSERT_TRUE(WriteWholeFile(path, theirs));
                ASSERT_TRUE(m->Load(path.c_str()) && m->Save(path.c_str()));
                theirs = ReadWholeFile(path);
                // Each group under an Id of its own (a repeated Id reads as none).
                CGroupsFile saved;
                std::vector<GroupEntry> groups;
                ASSERT_TRUE(saved.Open(path.c_str()));
                saved.ReadGroups(&groups);
                ASSERT_EQ(2u, groups.size());
                ASSERT_TRUE(groups[0].Id > 0 && groups[1].Id > 0) << theirs;
            }
            Reset();
            ASSERT_TRUE(WriteWholeFile(path, file(c.first.empty() ? first : c.first)));
            ASSERT_TRUE(m->Load(path.c_str()));
            const std::vector<GroupEntry> base = m->UserGroups();
            GroupEntry* changed = m->FindGroup(c.changed);
            if (c.change == 'r') changed->Name = "Work";
            if (c.change == 'k') changed->AddKeyword("k");
            if (c.change == 'd') m->DeleteGroup(changed);
            ASSERT_TRUE(WriteWholeFile(path, theirs));
            ASSERT_TRUE(MergeIntoFile(m, base, path));
            // The Id that copy gave the later, deleted here, stays recorded as given.
            const bool lastId = savedBetween && c.changed == 3 && c.change == 'd' && c.theirs.empty();
            EXPECT_EQ((lastId ? Replaced(c.written, "<Purgelet>", "<Purgelet LastId=\"4\">") : c.written) + "\n",
                      Body(ReadWholeFile(path)));
        }
}

TEST_F(GroupsFile, MissingDamagedAndForeignFilesYieldNoGroupsAndOnlyKeptBytesAreReplaced) {
    struct Case {
        const char* label;
        const char* content;  // null: no file
        GroupsFileStatus::Kind kind;
        const char* reason;  // the start of the reason given
    } cases[] = {
        {"missing", nullptr, GroupsFileStatus::Missing, ""},
        {"empty", "", GroupsFileStatus::Missing, ""},
        {"not well-formed", "<NimboPurgelet><Purgelet><Group Name=\"x\">", GroupsFileStatus::NotWellFormed,
         "it is not well-formed XML"},
        {"an unescaped ampersand",
         "<NimboPurgelet><Purgelet><Group Name=\"Tom & Jerry\"/></Purgelet></NimboPurgelet>",
         GroupsFileStatus::NotWellFormed, "it is not well-formed XML"},
        {"foreign root", "<?xml version=\"1.0\"?><Settings><Purgelet><Group Name=\"Foreign\"/></Purgelet></Settings>",
         GroupsFileStatus::ForeignRoot, "its root element is <Settings>, not <NimboPurgelet>"},
    };
    const std::string written =
        "<NimboPurgelet Version=\"1.1\">\n<Purgelet>\n<Group Id=\"2\" Name=\"InMemory\">\n"
        "<Keyword>m</Keyword>\n</Group>\n</Purgelet>\n</NimboPurgelet>";
    auto body = [&] {
        const std::string bytes = Body(ReadWholeFile(path));
        return bytes.substr(0, bytes.find_last_not_of("\r\n") + 1);
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.label);
        Reset();
        DeleteFileA(path.c_str());
        DeleteFileA((path + ".damaged").c_str());
        if (k.content) {
            ASSERT_TRUE(WriteWholeFile(path, k.content));
        }
        GroupEntry* kept = Add("InMemory", {"m"});
        GroupsFileStatus status;
        EXPECT_TRUE(m->Load(path.c_str(), &status));
        EXPECT_EQ(k.kind, status.kind);
        EXPECT_EQ(0u, status.reason.find(k.reason)) << status.reason;
        EXPECT_EQ("Other()InMemory(m)", Names());
        // Loading alone never writes.
        bool exists = false;
        EXPECT_EQ(k.content ? std::string(k.content) : std::string(), ReadWholeFile(path, &exists));
        EXPECT_EQ(k.content != nullptr, exists);

        if (status.Damaged()) {
            // The user's bytes are not written over unseen...
            EXPECT_FALSE(m->Save(path.c_str(), &status));
            EXPECT_EQ(k.kind, status.kind);
            EXPECT_EQ(std::string(k.content), ReadWholeFile(path));
            // ...nor with a copy that holds other bytes...
            std::string copy, error;
            ASSERT_TRUE(WriteWholeFile(path + ".other", "<NimboPurgelet/>"));
            EXPECT_FALSE(m->Save(path.c_str(), &status, (path + ".other").c_str()));
            EXPECT_EQ(std::string(k.content), ReadWholeFile(path));
            DeleteFileA((path + ".other").c_str());
            // ...but once they are kept beside the file.
            ASSERT_TRUE(KeepGroupsFileCopy(path, &copy, &error)) << error;
            EXPECT_EQ(path + ".damaged", copy);
            EXPECT_EQ(std::string(k.content), ReadWholeFile(copy));
            ASSERT_TRUE(m->Save(path.c_str(), &status, copy.c_str()));
            EXPECT_EQ(std::string(k.content), ReadWholeFile(copy));
        } else {
            ASSERT_TRUE(m->Save(path.c_str(), &status));
        }
        EXPECT_EQ(written, body());
        EXPECT_EQ(kept, m->m_Groups[1]);
        EXPECT_TRUE(status.writeError.empty()) << status.writeError;
    }
}

TEST_F(GroupsFile, ACopyOfADamagedFileNeverReplacesAnotherAndAFailedCopyIsSaid) {
    const std::string bytes = "<NimboPurgelet><Purgelet>";
    ASSERT_TRUE(WriteWholeFile(path, bytes));
    ASSERT_TRUE(WriteWholeFile(path + ".damaged", "earlier"));
    ASSERT_TRUE(WriteWholeFile(path + ".damaged-2", "earlier 2"));
    std::string copy, error;
    ASSERT_TRUE(KeepGroupsFileCopy(path, &copy, &error)) << error;
    EXPECT_EQ(path + ".damaged-3", copy);
    EXPECT_EQ(bytes, ReadWholeFile(copy));
    EXPECT_EQ("earlier", ReadWholeFile(path + ".damaged"));
    EXPECT_EQ("earlier 2", ReadWholeFile(path + ".damaged-2"));
    EXPECT_TRUE(SameFileBytes(path, copy));
    // The same bytes once more: the copy there already serves.
    ASSERT_TRUE(KeepGroupsFileCopy(path, &copy, &error)) << error;
    EXPECT_EQ(path + ".damaged-3", copy);
    EXPECT_FALSE(SameFileBytes(path, path + ".damaged"));
    EXPECT_FALSE(SameFileBytes(path, path + ".none"));

    // A file held open without sharing can be neither copied nor replaced; it stays.
    HANDLE held = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, held);
    EXPECT_FALSE(KeepGroupsFileCopy(path, &copy, &error));
    EXPECT_EQ(path + ".damaged-4", copy);
    EXPECT_FALSE(error.empty());
    GroupsFileStatus status;
    EXPECT_TRUE(m->Load(path.c_str(), &status));
    EXPECT_EQ(GroupsFileStatus::InUse, status.kind);
    EXPECT_FALSE(status.reason.empty());
    Add("New", {"n"});
    EXPECT_FALSE(m->Save(path.c_str(), &status));
    EXPECT_EQ("it is in use by another program (" + status.reason + ")", status.writeError);
    CloseHandle(held);
    EXPECT_EQ(bytes, ReadWholeFile(path));
    bool exists = true;
    ReadWholeFile(path + ".damaged-4", &exists);
    EXPECT_FALSE(exists);
}

// Each save edits the file as it is then, also right after a load or a save of this
// program's own (whose reading it may reuse only while the file holds the very bytes read):
// an edit made elsewhere in between stays, whether or not it changes the file's size.
TEST_F(GroupsFile, AnEditElsewhereAfterALoadOrASaveStaysThroughTheNextSave) {
    const struct {
        const char* label;
        const char* from;
        const char* to;
    } cases[] = {
        {"an attribute of the same length", "Version=\"1.1\"", "Version=\"1.2\""},
        {"a comment added", "<Purgelet>", "<!-- mine --><Purgelet>"},
    };
    for (bool afterLoad : {false, true}) {
        for (const auto& c : cases) {
            SCOPED_TRACE(std::string(c.label) + (afterLoad ? ", after a load" : ", after a save"));
            Reset();
            DeleteFileA(path.c_str());
            Add("A", {"a"});
            ASSERT_TRUE(m->Save(path.c_str()));
            if (afterLoad) {
                Reset();
                ASSERT_TRUE(m->Load(path.c_str()));
            }
            const std::string edited = Replaced(ReadWholeFile(path), c.from, c.to);
            ASSERT_TRUE(WriteWholeFile(path, edited));
            m->m_Groups[1]->AddKeyword("b");
            ASSERT_TRUE(m->Save(path.c_str()));
            EXPECT_EQ(Replaced(edited, "<Keyword>a</Keyword>\n", "<Keyword>a</Keyword>\n<Keyword>b</Keyword>\n"),
                      ReadWholeFile(path));
        }
    }
}

// Every parse of one file by the document object: its load, swapped in the method table
// that every document of the class shares (slot 58 of IXMLDOMDocument: IUnknown,
// IDispatch, IXMLDOMNode, then the document's own up to load).
class FileParses {
public:
    explicit FileParses(const std::string& path) : m_path(path.begin(), path.end()) {
        s_counted = this;
        IXMLDOMDocument* document = nullptr;
        CoInitialize(nullptr);
        if (FAILED(CoCreateInstance(CLSID_DOMDocument, nullptr, CLSCTX_ALL, IID_IXMLDOMDocument,
                                    reinterpret_cast<void**>(&document))))
            return;
        m_slot = *reinterpret_cast<void***>(document) + 58;
        document->Release();
        s_load = reinterpret_cast<Load>(Swap(reinterpret_cast<void*>(&Counted)));
    }
    ~FileParses() {
        if (m_slot) Swap(reinterpret_cast<void*>(s_load));
        s_counted = nullptr;
    }
    int Count() const { return m_count; }

private:
    typedef HRESULT(WINAPI* Load)(IXMLDOMDocument*, VARIANT, VARIANT_BOOL*);
    void* Swap(void* load) {
        DWORD old = 0;
        VirtualProtect(m_slot, sizeof(void*), PAGE_READWRITE, &old);
        void* previous = *m_slot;
        *m_slot = load;
        VirtualProtect(m_slot, sizeof(void*), old, &old);
        return previous;
    }
    static HRESULT WINAPI Counted(IXMLDOMDocument* document, VARIANT source, VARIANT_BOOL* loaded) {
        if (s_counted && source.vt == VT_BSTR && source.bstrVal && s_counted->m_path == source.bstrVal)
            ++s_counted->m_count;
        return s_load(document, source, loaded);
    }
    std::wstring m_path;
    void** m_slot = nullptr;
    int m_count = 0;
    static inline Load s_load = nullptr;
    static inline FileParses* s_counted = nullptr;
};

// A reading kept from save to save serves while the nodes the saves took out of it stay
// within one in 256 of those it holds: the save after the one that passes that share reads
// the file afresh, and the fresh reading is kept again. 1,200 groups of one keyword hold
// about 12,000 nodes, and a group deleted takes 10 of them out: the fifth delete passes 47.
TEST_F(GroupsFile, ASaveReadsTheFileAfreshOnceTheNodesTakenOutOfItsReadingPassOneIn256) {
    std::string groups;
    for (int i = 0; i < 1200; ++i)
        groups += "<Group Id=\"" + std::to_string(i + 2) + "\" Name=\"g" + std::to_string(i) +
                  "\">\n<Keyword>k</Keyword>\n</Group>\n";
    ASSERT_TRUE(WriteWholeFile(path, "<?xml version=\"1.0\"?>\n<NimboPurgelet Version=\"1.1\">\n<Purgelet>\n" +
                                         groups + "</Purgelet>\n</NimboPurgelet>\n"));
    FileParses parses(path);
    ASSERT_TRUE(m->Load(path.c_str()));
    ASSERT_EQ(1, parses.Count()) << "the load does not parse the file";
    std::string fresh;
    for (int save = 1; save <= 12; ++save) {
        const int before = parses.Count();
        // The first group: the largest Id, which the file records when it goes, stays.
        m->DeleteGroup(m->m_Groups[1]);
        ASSERT_TRUE(m->Save(path.c_str()));
        fresh += parses.Count() > before ? 'F' : '.';
    }
    EXPECT_EQ(".....F....F.", fresh);
    EXPECT_EQ(1188u, m->m_Groups.size() - 1);
    EXPECT_EQ(std::string::npos, ReadWholeFile(path).find("Name=\"g11\""));
}

// Each way a save can fail, from a file holding one group: the save says so, and the old
// file stays whole with nothing beside it. Run in a child process, each case within a
// bound: a broken writer can loop or crash (which under Wine waits for a debugger).
TEST_F(GroupsFile, AFailedSaveReportsFalseAndKeepsTheOldFile) {
    std::string before;
    GroupsFileStatus status;
    auto held = [&](DWORD access, DWORD share) {
        return CreateFileA(path.c_str(), access, share, nullptr, OPEN_EXISTING, 0, nullptr);
    };
    // What another program holding the file makes of a save.
    auto refusedWhileHeld = [&](DWORD access, DWORD share) {
        HANDLE file = held(access, share);
        EXPECT_NE(INVALID_HANDLE_VALUE, file);
        const BOOL saved = m->Save(path.c_str(), &status);
        CloseHandle(file);
        EXPECT_FALSE(saved);
        EXPECT_EQ(GroupsFileStatus::InUse, status.kind) << status.reason;
        EXPECT_FALSE(status.Damaged());
        EXPECT_EQ(0u, status.writeError.find("it is in use by another program (")) << status.writeError;
    };
    const struct {
        const char* name;
        std::function<void()> run;
    } cases[] = {
        // Windows refuses to move a file over a read-only one; Wine does not, so the
        // catalogue checks the attribute itself.
        {"a read-only file",
         [&] {
             ASSERT_TRUE(SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY));
             EXPECT_FALSE(m->Save(path.c_str(), &status));
             EXPECT_EQ("the file is read-only", status.writeError);
             SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
         }},
        {"held open without sharing", [&] { refusedWhileHeld(GENERIC_READ, 0); }},
        // Read now, it may be half written: in use, not damaged.
        {"held for writing, sharing reads",
         [&] {
             refusedWhileHeld(GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ);
             HANDLE file = held(GENERIC_WRITE, FILE_SHARE_READ);
             GroupsFileStatus loaded;
             EXPECT_TRUE(m->Load(path.c_str(), &loaded));
             CloseHandle(file);
             EXPECT_EQ(GroupsFileStatus::InUse, loaded.kind);
             EXPECT_EQ(1u + 1u, m->m_Groups.size()) << "nothing read";
         }},
        // The file taken between the read and the replace: nothing of the replace stays
        // beside it.
        {"held at the replace",
         [&] {
             CGroupsFile file;
             ASSERT_TRUE(file.Open(path.c_str()));
             HANDLE reader = held(GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE);
             EXPECT_TRUE(file.WriteGroups(m));
             const BOOL saved = file.Save();
             CloseHandle(reader);
             EXPECT_FALSE(saved);
             EXPECT_EQ(GroupsFileStatus::InUse, file.Status().kind);
         }},
        // Written by another program between the read and the replace: not replaced unread.
        {"changed between the read and the replace",
         [&] {
             CGroupsFile file;
             ASSERT_TRUE(file.Open(path.c_str()));
             before = Replaced(before, "Old", "Hand");
             ASSERT_TRUE(WriteWholeFile(path, before));
             EXPECT_TRUE(file.WriteGroups(m));
             EXPECT_FALSE(file.Save());
             EXPECT_TRUE(file.Status().changedSinceRead);
         }},
        {"a folder that does not exist",
         [&] {
             const std::string nowhere = folder.Path() + "missing\\Purgelet.xml";
             EXPECT_FALSE(m->Save(nowhere.c_str()));
             bool exists = true;
             ReadWholeFile(nowhere, &exists);
             EXPECT_FALSE(exists);
         }},
        {"a file standing where the folder should be",
         [&] { EXPECT_FALSE(m->Save((path + "\\Purgelet.xml").c_str())); }},
    };
    testsupport::RunCasesBounded(
        "GroupsFile.AFailedSaveReportsFalseAndKeepsTheOldFile", sizeof(cases) / sizeof(cases[0]),
        [&](size_t i) {
            SCOPED_TRACE(cases[i].name);
            Reset();
            Add("Old", {"o"});
            ASSERT_TRUE(m->Save(path.c_str()));
            before = ReadWholeFile(path);
            Reset();
            Add("New", {"n"});
            cases[i].run();
            EXPECT_EQ(before, ReadWholeFile(path));
            EXPECT_EQ(1u, FilesIn(folder.Path()));
        },
        [&](size_t i) { return std::string(cases[i].name); }, 20000);
}

// ---- what a save writes ----------------------------------------------------------------

// The file the program writes for one group "Grüße" with the keyword "süß": the bytes whole.
const char kWritten[] =
    "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
    "<NimboPurgelet Version=\"1.1\">\n<Purgelet>\n<Group Id=\"2\" Name=\"Gr\xC3\xBC\xC3\x9F" "e\">\n"
    "<Keyword>s\xC3\xBC\xC3\x9F</Keyword>\n</Group>\n</Purgelet>\n</NimboPurgelet>\n";

// The same group read from a file written on one line without Ids: the layout stays,
// and the group is given its Id.
const char kEdited[] =
    "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
    "<NimboPurgelet Version=\"1.1\"><Purgelet><Group Name=\"Gr\xC3\xBC\xC3\x9F" "e\" Id=\"2\">"
    "<Keyword>s\xC3\xBC\xC3\x9F</Keyword></Group></Purgelet></NimboPurgelet>\n";

TEST_F(GroupsFile, EveryEncodingTheParserReadsIsWrittenAsUtf8AndKeepsItsNamesOverSaves) {
    const std::string body = "<NimboPurgelet Version=\"1.1\"><Purgelet><Group Name=\"Gr\xC3\xBC\xC3\x9F" "e\">"
                             "<Keyword>s\xC3\xBC\xC3\x9F</Keyword></Group></Purgelet></NimboPurgelet>";
    const std::string latin1 = "<NimboPurgelet Version=\"1.1\"><Purgelet><Group Name=\"Gr\xFC\xDF" "e\">"
                               "<Keyword>s\xFC\xDF</Keyword></Group></Purgelet></NimboPurgelet>";
    const struct {
        const char* label;
        std::string bytes;
    } cases[] = {
        {"UTF-8", "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n" + body},
        {"UTF-8 without a declaration", body},
        {"UTF-16 with a byte-order mark", Utf16LE("<?xml version=\"1.0\" encoding=\"UTF-16\"?>\r\n" + body)},
        {"ISO-8859-1", "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\r\n" + latin1},
        {"windows-1252", "<?xml version=\"1.0\" encoding=\"windows-1252\"?>\r\n" + latin1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        ASSERT_TRUE(WriteWholeFile(path, c.bytes));
        for (int save = 1; save <= 3; ++save) {
            SCOPED_TRACE(save);
            Reset();
            GroupsFileStatus status;
            ASSERT_TRUE(m->Load(path.c_str(), &status));
            EXPECT_EQ(GroupsFileStatus::Read, status.kind) << status.reason;
            EXPECT_EQ("Other()Gr\xFC\xDF" "e(s\xFC\xDF)", Names());
            ASSERT_TRUE(m->Save(path.c_str(), &status)) << status.writeError;
            EXPECT_EQ(kEdited, ReadWholeFile(path));
        }
        EXPECT_EQ(1u, FilesIn(folder.Path()));
    }
}

// The file-level rule: text XML 1.0 cannot hold is refused whole, and the old file
// stays; everything else reads back exactly, blanks at the ends included.
TEST_F(GroupsFile, NamesAndKeywordsReadBackEqualOrNothingIsWritten) {
    ASSERT_TRUE(WriteWholeFile(path, kWritten));
    const struct {
        const char* label;
        std::string name, keyword;
        const char* refusal;  // null: written and read back equal
    } cases[] = {
        {"blanks at the ends", " Padded ", "  two  ", nullptr},
        {"only blanks", "   ", " ", nullptr},
        {"tab, line feed and carriage return", "Tab\there", "a\tb\r\nc\rd\ne", nullptr},
        // An attribute's line feed written as it is would read back as a blank.
        {"a line feed and a carriage return in a name", "Line\nfeed\r", "k", nullptr},
        {"markup characters", "<&>\"'", "]]>", nullptr},
        {"a control character in a name", "Bell\x07", "k",
         "the name of the group \"Bell \" holds the control character U+0007, which a groups file cannot hold"},
        {"a control character in a keyword", "Escape", "esc\x1B",
         "a keyword of the group \"Escape\" holds the control character U+001B, which a groups file cannot hold"},
        {"a form feed", "Page", "\x0C",
         "a keyword of the group \"Page\" holds the control character U+000C, which a groups file cannot hold"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        Reset();
        Add("Kept", {"k"});
        Add(c.name.c_str(), {c.keyword.c_str()});
        GroupsFileStatus status;
        const std::string before = ReadWholeFile(path);
        if (c.refusal) {
            EXPECT_FALSE(m->Save(path.c_str(), &status));
            EXPECT_EQ(c.refusal, status.writeError);
            EXPECT_EQ(before, ReadWholeFile(path));
        } else {
            ASSERT_TRUE(m->Save(path.c_str(), &status)) << status.writeError;
            const std::string expected = Names();
            Reset();
            ASSERT_TRUE(m->Load(path.c_str(), &status));
            EXPECT_EQ(GroupsFileStatus::Read, status.kind) << status.reason;
            EXPECT_EQ(expected, Names()) << ReadWholeFile(path);
        }
        EXPECT_EQ(1u, FilesIn(folder.Path()));
    }
    // The same rule for the dialogs that ask before a save.
    EXPECT_EQ("", GroupsFileTextFault(" Gr\xFC\xDF" "e\t\r\n"));
    EXPECT_EQ("the control character U+0001", GroupsFileTextFault("a\x01"));
}

BOOL(WINAPI* g_realWriteFile)(HANDLE, LPCVOID, DWORD, LPDWORD, LPOVERLAPPED) = nullptr;

// The disk fills up halfway through the write.
BOOL WINAPI WriteHalfThenFail(HANDLE file, LPCVOID data, DWORD size, LPDWORD written, LPOVERLAPPED overlapped) {
    DWORD half = 0;
    g_realWriteFile(file, data, size / 2, &half, overlapped);
    if (written) *written = half;
    SetLastError(ERROR_DISK_FULL);
    return FALSE;
}

// The bytes reach the disk otherwise than they were handed over, and nobody says so:
// the first `g_garbled.first` becomes `g_garbled.second`.
std::pair<std::string, std::string> g_garbled;
BOOL WINAPI WriteGarbled(HANDLE file, LPCVOID data, DWORD size, LPDWORD written, LPOVERLAPPED overlapped) {
    std::string bytes(static_cast<const char*>(data), size);
    const std::string::size_type at = bytes.find(g_garbled.first);
    if (at != std::string::npos) bytes.replace(at, g_garbled.first.size(), g_garbled.second);
    DWORD done = 0;
    const BOOL ok = g_realWriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &done, overlapped);
    if (written) *written = ok ? size : 0;
    return ok;
}

// A write that fails midway, or whose file does not read back exactly as written (the
// save reads it back before it replaces the old file), replaces nothing, and says why.
TEST_F(GroupsFile, AWriteThatFailsOrDoesNotReadBackLeavesTheOldFileWholeAndNoTemporaryFile) {
    const std::string unshown = "<Group Id=\"5\" Name=\"\xD0\x96\"/>\n";
    const std::string original = Replaced(kWritten, "</Purgelet>", unshown + "</Purgelet>");
    const std::string readBack = "the new file would not read back as the groups: ";
    const struct {
        const char* label;
        void* write;
        std::pair<std::string, std::string> garbled;
        std::string error;  // the start of the reason given
    } cases[] = {
        {"the disk full midway", reinterpret_cast<void*>(&WriteHalfThenFail), {},
         "the new file could not be written ("},
        {"a name garbled", reinterpret_cast<void*>(&WriteGarbled), {"Name=\"New\"", "Name=\"Mew\""},
         readBack + "the group \"New\" would read back as \"Mew\""},
        {"a keyword garbled", reinterpret_cast<void*>(&WriteGarbled), {"<Keyword>n<", "<Keyword>m<"},
         readBack + "the keywords of the group \"New\" would read back otherwise"},
        {"an Id garbled", reinterpret_cast<void*>(&WriteGarbled), {"Id=\"6\"", "Id=\"06\""},
         readBack + "the group \"New\" would read back without an Id, not 6"},
        {"a group the code page cannot show lost", reinterpret_cast<void*>(&WriteGarbled), {unshown, ""},
         readBack + "the groups this system's code page cannot show would change"},
        {"a shape the reader refuses", reinterpret_cast<void*>(&WriteGarbled), {"<Purgelet>", "<!DOCTYPE x><Purgelet>"},
         readBack + "it declares a document type"},
        // The groups read back as meant, but the file is not what was written.
        {"a byte beside the groups garbled", reinterpret_cast<void*>(&WriteGarbled),
         {"Version=\"1.1\"", "Version=\"1.2\""}, readBack + "it holds other bytes than were written"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        Reset();
        ASSERT_TRUE(WriteWholeFile(path, original));
        ASSERT_TRUE(m->Load(path.c_str()));
        Add("New", {"n"});
        g_garbled = c.garbled;
        g_realWriteFile =
            reinterpret_cast<decltype(g_realWriteFile)>(cattest::PatchImport("kernel32.dll", "WriteFile", c.write));
        ASSERT_TRUE(g_realWriteFile != nullptr);
        GroupsFileStatus status;
        const BOOL saved = m->Save(path.c_str(), &status);
        cattest::PatchImport("kernel32.dll", "WriteFile", reinterpret_cast<void*>(g_realWriteFile));
        EXPECT_FALSE(saved);
        EXPECT_EQ(0u, status.writeError.find(c.error)) << status.writeError;
        EXPECT_EQ(original, ReadWholeFile(path));
        EXPECT_EQ(1u, FilesIn(folder.Path()));
    }
}

TEST_F(GroupsFile, TheReplacedFileKeepsItsAttributesAndLeftoversAreRemoved) {
    ASSERT_TRUE(WriteWholeFile(path, kWritten));
    ASSERT_TRUE(SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE));
    const DWORD before = GetFileAttributesA(path.c_str());
    Add("New", {"n"});
    GroupsFileStatus status;
    ASSERT_TRUE(m->Save(path.c_str(), &status)) << status.writeError;
    EXPECT_NE(std::string::npos, ReadWholeFile(path).find("Name=\"New\""));
    EXPECT_EQ(before, GetFileAttributesA(path.c_str()));
    EXPECT_EQ(1u, FilesIn(folder.Path()));

    // A crash in the middle of a save leaves its temporary file; the next start removes it
    // and nothing else.
    ASSERT_TRUE(WriteWholeFile(path + ".~1a2b.tmp", "<NimboPurgelet"));
    ASSERT_TRUE(WriteWholeFile(path + ".~.txt", "other"));
    ASSERT_TRUE(WriteWholeFile(folder.Path() + "Other.xml.~1a2b.tmp", "other"));
    EXPECT_EQ(1, RemoveGroupsFileLeftovers(path));
    EXPECT_EQ(3u, FilesIn(folder.Path()));
    EXPECT_NE(std::string::npos, ReadWholeFile(path).find("Name=\"New\""));

    // Cut short between setting the old file aside and moving the new one in: no file at
    // the path, the old file beside with the new bytes under the same name. The file set
    // aside last of such pairs goes back there, never over a file, and its twin goes.
    for (const char* name : {".~1.old", ".~1.tmp", ".~2.tmp"}) ASSERT_TRUE(WriteWholeFile(path + name, "older"));
    ASSERT_TRUE(WriteWholeFile(path + ".~3.old", kWritten));
    HANDLE older = CreateFileA((path + ".~1.old").c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, 0);
    ASSERT_NE(INVALID_HANDLE_VALUE, older);
    FILETIME longAgo = {0, 0x01000000};
    ASSERT_TRUE(SetFileTime(older, nullptr, nullptr, &longAgo));
    CloseHandle(older);
    EXPECT_FALSE(RestoreGroupsFileSetAside(path));
    EXPECT_NE(std::string::npos, ReadWholeFile(path).find("Name=\"New\""));
    // Deleted by the user: an old file set aside without its twin stays where it is, also
    // beside another save's leftover.
    ASSERT_TRUE(DeleteFileA(path.c_str()));
    ASSERT_TRUE(DeleteFileA((path + ".~1.tmp").c_str()));
    EXPECT_FALSE(RestoreGroupsFileSetAside(path));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(path.c_str()));
    for (const char* twin : {".~1.tmp", ".~3.tmp"}) ASSERT_TRUE(WriteWholeFile(path + twin, "<NimboPurgelet"));
    EXPECT_TRUE(RestoreGroupsFileSetAside(path));
    EXPECT_EQ(kWritten, ReadWholeFile(path));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA((path + ".~3.tmp").c_str()));
    EXPECT_EQ("older", ReadWholeFile(path + ".~1.old"));
    EXPECT_EQ(2, RemoveGroupsFileLeftovers(path));
}

}  // namespace
