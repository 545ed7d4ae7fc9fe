// What a save writes, loaded afresh: for each form a name, a keyword or the file around
// them may take, the groups the save says it wrote, the reading it keeps for the next
// change, the groups a later start reads from its bytes (a parse of a file of their own, so
// that nothing this process kept of the save serves instead) and the groups meant are the
// same, and the bytes read and written again are the same bytes. Where the bytes would read
// as other groups, nothing is written.
#include <gtest/gtest.h>
#include <functional>
#include "catalogue/groups.h"
#include "catalogue/groups_file.h"
#include "catalogue_test_util.h"

using cattest::ReadWholeFile;
using cattest::WriteWholeFile;

namespace {

std::string Visible(const std::string& text) {
    std::string shown;
    for (char c : text)
        shown += c == '\r' ? "\\r" : c == '\n' ? "\\n" : c == '\t' ? "\\t" : c == '\\' ? "\\\\" : std::string(1, c);
    return shown;
}

// "Id:name(keyword|keyword) " per group, white space spelled out; without the Ids
// "name(keyword|keyword) ".
std::string Shown(const std::vector<GroupEntry>& groups, bool ids = true) {
    std::string s;
    for (const GroupEntry& g : groups) {
        s += (ids ? std::to_string(g.Id) + ":" : "") + Visible(g.Name) + "(";
        for (size_t i = 0; i < g.Keywords.size(); ++i) s += (i ? "|" : "") + Visible(g.Keywords[i]);
        s += ") ";
    }
    return s;
}

// Where two files part, or "" when they hold the same bytes (a diff of two long files
// would take more memory than the test has).
std::string Difference(const std::string& a, const std::string& b) {
    if (a == b) return std::string();
    size_t at = 0;
    while (at < a.size() && at < b.size() && a[at] == b[at]) ++at;
    const size_t from = at < 40 ? 0 : at - 40;
    return "at byte " + std::to_string(at) + ": " + Visible(a.substr(from, 80)) + " / " + Visible(b.substr(from, 80));
}

std::string Joined(const std::vector<std::string>& names) {
    std::string s;
    for (const std::string& name : names) s += name + ",";
    return s;
}

const char kUtf8[] = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n";

std::string File(const std::string& groups, const char* prolog = kUtf8) {
    return prolog + std::string("<NimboPurgelet Version=\"1.1\">\n<Purgelet>\n") + groups +
           "\n</Purgelet>\n</NimboPurgelet>\n";
}

class GroupsFileForms : public cattest::GroupsTest {
protected:
    // The file's groups and the names of those it does not show, as a start reads them.
    std::string FreshLoad(const std::string& bytes, std::string* unshown) {
        const std::string fresh = folder.Path() + cattest::UniqueName("fresh") + ".xml";
        if (!WriteWholeFile(fresh, bytes)) return "(not written)";
        CGroupsFile file;
        if (!file.Open(fresh.c_str()) || file.Status().kind != GroupsFileStatus::Read)
            return "(not read: " + file.Status().reason + ")";
        std::vector<GroupEntry> groups;
        file.ReadGroups(&groups);
        *unshown = Joined(file.UnshownGroups());
        return Shown(groups);
    }
    cattest::TempFolder folder;
    std::string path = folder.Path() + "Purgelet.xml";
};

std::string Repeated(const std::string& piece, size_t times) {
    std::string s;
    for (size_t i = 0; i < times; ++i) s += piece;
    return s;
}

// The first user group gets a keyword, and a group is made with the name and keyword.
std::function<void(CGroupManager*)> Made(const std::string& name, const std::string& keyword) {
    return [=](CGroupManager* m) {
        m->m_Groups[1]->AddKeyword(keyword.c_str());
        GroupEntry* made = m->CreateGroup();
        made->Name = name;
        made->AddKeyword(keyword.c_str());
    };
}

// A form the file holds, edited by the save: the first user group gets the keyword "new".
const auto kAddKeyword = [](CGroupManager* m) { m->m_Groups[1]->AddKeyword("new"); };

TEST_F(GroupsFileForms, EachFormReadsBackAsTheSaveSaysItWroteIt) {
    const std::string kLong = Repeated("long\r\n", 30000);
    const std::string kLongRead = Repeated("long\\r\\n", 30000);
    const struct {
        const char* label;
        std::string file;  // hand-made
        std::function<void(CGroupManager*)> change;
        std::string meant;  // the groups after the change
        const char* unshown;
    } cases[] = {
        {"character references in text",
         File("<Group Id=\"2\" Name=\"g\"><Keyword>&#233;&#x41;&#9;&#10;&#13;|&#13;&#10;</Keyword></Group>"),
         kAddKeyword, "g(\xE9" "A\\t\\n\\r|\\r\\n|new) ", ""},
        {"character references in an attribute",
         File("<Group Id=\"2\" Name=\"a&#9;b&#10;c&#13;d&#13;&#10;e&#233;\"/>"), kAddKeyword,
         "a\\tb\\nc\\rd\\r\\ne\xE9(new) ", ""},
        {"entity references",
         File("<Group Id=\"2\" Name=\"&lt;&amp;&gt;&quot;&apos;\">"
              "<Keyword>&lt;&amp;&gt;&quot;&apos;</Keyword></Group>"),
         kAddKeyword, "<&>\"'(<&>\"'|new) ", ""},
        {"CR, CR LF, LF and tab as they are in text",
         File("<Group Id=\"2\" Name=\"g\"><Keyword>a\rb\r\nc\nd\te</Keyword></Group>"), kAddKeyword,
         "g(a\\nb\\nc\\nd\\te|new) ", ""},
        {"CR, CR LF, LF and tab as they are in an attribute",
         File("<Group Id=\"2\" Name=\"a\rb\r\nc\nd\te\"/>"), kAddKeyword, "a b c d e(new) ", ""},
        {"CDATA sections",
         File("<Group Id=\"2\" Name=\"g\"><Keyword><![CDATA[<&>]]></Keyword><Keyword>a<![CDATA[ \r\n ]]>b</Keyword>"
              "<Keyword><![CDATA[]]></Keyword></Group>"),
         kAddKeyword, "g(<&>|a \\n b||new) ", ""},
        {"comments and processing instructions inside a group and a keyword",
         File("<Group Id=\"2\" Name=\"g\"><!-- c --><?pi in group?><Keyword>a<!--x-->b<?p q?>c</Keyword>"
              "<Keyword><!-- only --></Keyword></Group>"),
         kAddKeyword, "g(abc||new) ", ""},
        {"blanks", File("<Group Id=\"2\" Name=\" \">\n  <Keyword> </Keyword>\n  <Keyword>  two  </Keyword>\n"
                        "  <Keyword>\n</Keyword>\n  <Keyword>\t</Keyword>\n</Group>"),
         kAddKeyword, " ( |  two  |\\n|\\t|new) ", ""},
        {"any-case name attributes",
         File("<Group Id=\"2\" NAME=\"upper\"/>\n<Group Id=\"3\" name=\"first\" nAmE=\"last\"/>"),
         [](CGroupManager* m) {
             m->FindGroup(2)->Name = "UPPER";
             m->FindGroup(3)->Name = "renamed";
         },
         "UPPER() renamed() ", ""},
        {"a Latin-1 file",
         File("<Group Id=\"2\" Name=\"Gr\xFC\xDF" "e\"><Keyword>s\xFC\xDF</Keyword></Group>",
              "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n"),
         kAddKeyword, "Gr\xFC\xDF" "e(s\xFC\xDF|new) ", ""},
        {"a windows-1252 file",
         File("<Group Id=\"2\" Name=\"\x80\"/>", "<?xml version=\"1.0\" encoding=\"windows-1252\"?>\n"), kAddKeyword,
         "\x80(new) ", ""},
        {"a byte-order mark", File("<Group Id=\"2\" Name=\"\xC3\xA9\"/>", "\xEF\xBB\xBF<?xml version=\"1.0\"?>\n"),
         kAddKeyword, "\xE9(new) ", ""},
        {"text the code page cannot show",
         File("<Group Id=\"2\" Name=\"g\"/>\n<Group Id=\"3\" Name=\"\xD0\x96&#13;\"/>\n"
              "<Group Id=\"4\" Name=\"k\"><Keyword>\xF0\x9F\x98\x80</Keyword></Group>"),
         kAddKeyword, "g(new) ", "? ,k,"},
        {"a long text", File("<Group Id=\"2\" Name=\"" + Repeated("long&#13;&#10;", 30000) + "\"><Keyword>" +
                             Repeated("long&#13;\n", 30000) + "</Keyword></Group>"),
         kAddKeyword, kLongRead + "(" + kLongRead + "|new) ", ""},
        {"twins: two groups of one Id", File("<Group Id=\"2\" Name=\"a\"/><Group Id=\"2\" Name=\"b\"/>"),
         kAddKeyword, "a(new) b() ", ""},
        {"twins: two groups of one name without Ids",
         File("<Group Name=\"t\"><Keyword>k</Keyword></Group>\n<Group Name=\"t\"><Keyword>k</Keyword></Group>"),
         kAddKeyword, "t(k|new) t(k) ", ""},
        // Texts the save writes itself, into an element the file holds and a new one.
        {"CR, CR LF, LF and tab made here", File("<Group Id=\"2\" Name=\"g\"/>"), Made("a\rb\r\nc\nd\te", " \r\n "),
         "g( \\r\\n ) a\\rb\\r\\nc\\nd\\te( \\r\\n ) ", ""},
        {"markup made here", File("<Group Id=\"2\" Name=\"g\"/>"), Made("<&>\"']]>", "]]><!--&#13;"),
         "g(]]><!--&#13;) <&>\"']]>(]]><!--&#13;) ", ""},
        {"Latin-1 and a long text made here", File("<Group Id=\"2\" Name=\"g\"/>"), Made("\xE9\xFF", kLong),
         "g(" + kLongRead + ") \xE9\xFF(" + kLongRead + ") ", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        Reset();
        ASSERT_TRUE(WriteWholeFile(path, c.file));
        GroupsFileStatus status;
        ASSERT_TRUE(m->Load(path.c_str(), &status));
        ASSERT_EQ(GroupsFileStatus::Read, status.kind) << status.reason;
        const std::vector<GroupEntry> base = m->UserGroups();
        c.change(m);
        const std::string meant = Shown(m->UserGroups());
        EXPECT_EQ(c.meant, Shown(m->UserGroups(), false));

        CGroupsFile file;
        ASSERT_TRUE(file.Open(path.c_str()));
        // As the program saves: each group the file holds is the group at its place as read.
        ASSERT_TRUE(file.WriteGroups(m, &base) && file.Save()) << file.Status().writeError;
        const std::string bytes = ReadWholeFile(path);
        std::string unshown;
        EXPECT_EQ(meant, Shown(file.Written()));
        // The reading the save keeps for the next change of the file, and a start's.
        CGroupsFile next;
        std::vector<GroupEntry> kept;
        ASSERT_TRUE(next.Open(path.c_str()));
        next.ReadGroups(&kept);
        EXPECT_EQ(meant, Shown(kept));
        EXPECT_EQ(meant, FreshLoad(bytes, &unshown)) << bytes.substr(0, 2000);
        EXPECT_EQ(c.unshown, unshown);

        // Read and written again, the bytes stay the same bytes.
        const std::string again = folder.Path() + cattest::UniqueName("again") + ".xml";
        ASSERT_TRUE(WriteWholeFile(again, bytes));
        Reset();
        ASSERT_TRUE(m->Load(again.c_str()) && m->Save(again.c_str()));
        EXPECT_EQ("", Difference(bytes, ReadWholeFile(again)));
    }
}

// Another program gave an Id of this run's groups to a group the code page cannot show,
// ahead of it: the reader would take that Id for the other group and read the group made
// or edited here without one. The save says so and leaves the file as it is.
TEST_F(GroupsFileForms, ASaveWhoseBytesWouldReadAsOtherGroupsWritesNothing) {
    const std::string unshown = "<Group Id=\"@\" Name=\"\xD0\x96\"/>\n";  // @: the Id of the last group here
    const struct {
        const char* label;
        std::string before, theirs;  // the file as loaded, and as another program left it
        std::function<void(CGroupManager*)> change;
        std::string refusal;
    } cases[] = {
        {"a group made here", File("<Group Id=\"2\" Name=\"a\"/>"), File("<Group Id=\"2\" Name=\"a\"/>\n" + unshown),
         [](CGroupManager* m) { m->CreateGroup()->Name = "made"; }, "the group \"made\" would read back without an Id"},
        {"a group edited here", File("<Group Id=\"3\" Name=\"b\"/>"), File(unshown + "<Group Id=\"3\" Name=\"b\"/>"),
         [](CGroupManager* m) { m->FindGroup(3)->AddKeyword("k"); }, "the group \"b\" would read back without an Id"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        Reset();
        ASSERT_TRUE(WriteWholeFile(path, c.before));
        ASSERT_TRUE(m->Load(path.c_str()));
        c.change(m);
        const std::string id = std::to_string(m->m_Groups.back()->Id);
        const size_t at = c.theirs.find('@');
        const std::string theirs = c.theirs.substr(0, at) + id + c.theirs.substr(at + 1);
        ASSERT_TRUE(WriteWholeFile(path, theirs));
        GroupsFileStatus status;
        EXPECT_FALSE(m->Save(path.c_str(), &status));
        EXPECT_EQ("the new file would not read back as the groups: " + c.refusal + ", not " + id, status.writeError);
        EXPECT_EQ(theirs, ReadWholeFile(path));
    }
}

// A name past what the parser takes (ten million bytes) is written only when its bytes
// read back as it: the writing cannot vouch for them, they are parsed.
TEST_F(GroupsFileForms, ANameLongerThanTheParserTakesIsWrittenOnlyWhenItReadsBack) {
    const std::string before = File("<Group Id=\"2\" Name=\"g\"/>");
    ASSERT_TRUE(WriteWholeFile(path, before));
    ASSERT_TRUE(m->Load(path.c_str()));
    m->CreateGroup()->Name = Repeated("\xE9", 5000000);  // ten million bytes in UTF-8
    const std::string meant = Shown(m->UserGroups());
    GroupsFileStatus status;
    if (m->Save(path.c_str(), &status)) {
        std::string unshown;
        EXPECT_EQ(meant, FreshLoad(ReadWholeFile(path), &unshown));
    } else {
        EXPECT_EQ(0u, status.writeError.find("the new file would not read back as the groups: it is not well-formed"))
            << status.writeError;
        EXPECT_EQ(before, ReadWholeFile(path));
    }
}

}  // namespace
