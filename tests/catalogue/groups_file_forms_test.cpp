// Each form a name, a keyword or the file around them may take reads back from a save as
// the groups meant, and its bytes read and written again stay the same bytes; bytes that
// would read as other groups are not written.
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

// "Id:name(keyword|keyword) " per group (the Id left out on request), white space spelled out.
std::string Shown(const std::vector<GroupEntry>& groups, bool ids = true) {
    std::string s;
    for (const GroupEntry& g : groups) {
        s += (ids ? std::to_string(g.Id) + ":" : "") + Visible(g.Name) + "(";
        for (size_t i = 0; i < g.Keywords.size(); ++i) s += (i ? "|" : "") + Visible(g.Keywords[i]);
        s += ") ";
    }
    return s;
}

// Where two files part: a diff of two long files would take more memory than the test has.
std::string Difference(const std::string& a, const std::string& b) {
    if (a == b) return std::string();
    size_t at = 0;
    while (at < a.size() && at < b.size() && a[at] == b[at]) ++at;
    const size_t from = at < 40 ? 0 : at - 40;
    return "at byte " + std::to_string(at) + ": " + Visible(a.substr(from, 80)) + " / " + Visible(b.substr(from, 80));
}

std::string Repeated(const std::string& piece, size_t times) {
    std::string s;
    while (times--) s += piece;
    return s;
}

std::string File(const std::string& groups, const char* prolog = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n") {
    return prolog + ("<NimboPurgelet Version=\"1.1\">\n<Purgelet>\n" + groups + "\n</Purgelet>\n</NimboPurgelet>\n");
}

class GroupsFileForms : public cattest::GroupsTest {
protected:
    // Starts afresh on a file of these bytes: "" when they load as groups.
    std::string Start(const std::string& bytes) {
        Reset();
        GroupsFileStatus status;
        if (!WriteWholeFile(path, bytes) || !m->Load(path.c_str(), &status)) return "(not loaded)";
        return status.kind == GroupsFileStatus::Read ? "" : "(" + status.reason + ")";
    }
    // A reading's groups, and the names of those it does not show.
    static std::string Read(const std::string& file, std::string* unshown) {
        CGroupsFile reader;
        if (!reader.Open(file.c_str()) || reader.Status().kind != GroupsFileStatus::Read)
            return "(not read: " + reader.Status().reason + ")";
        std::vector<GroupEntry> groups;
        reader.ReadGroups(&groups);
        for (const std::string& name : reader.UnshownGroups()) *unshown += name + ",";
        return Shown(groups);
    }
    // A file of its own for the bytes, so that nothing this process kept of a save serves.
    std::string Fresh(const std::string& bytes) {
        const std::string fresh = folder.Path() + cattest::UniqueName("fresh") + ".xml";
        return WriteWholeFile(fresh, bytes) ? fresh : "(not written)";
    }
    cattest::TempFolder folder;
    std::string path = folder.Path() + "Purgelet.xml";
};

// Texts the save writes itself: the keyword into the first user group and a group made of both.
std::function<void(CGroupManager*)> Made(const std::string& name, const std::string& keyword) {
    return [=](CGroupManager* m) {
        for (GroupEntry* g : {m->m_Groups[1], m->CreateGroup()}) g->AddKeyword(keyword.c_str());
        m->m_Groups.back()->Name = name;
    };
}

TEST_F(GroupsFileForms, EachFormReadsBackAsTheSaveSaysItWroteIt) {
    const std::string kLong = Repeated("long\r\n", 30000), kLongRead = Repeated("long\\r\\n", 30000);
    const char kG[] = "<Group Id=\"2\" Name=\"g\"/>";
    const struct {
        const char* label;
        std::string file, meant;  // hand-made (groups alone in a UTF-8 file), and the groups after the change
        const char* unshown = "";
        // By default a form the file holds, edited by the save.
        std::function<void(CGroupManager*)> change = [](CGroupManager* m) { m->m_Groups[1]->AddKeyword("new"); };
    } cases[] = {
        {"character references in text", "<Group Id=\"2\" Name=\"g\"><Keyword>&#233;&#x41;&#9;&#10;&#13;|&#13;&#10;"
                                          "</Keyword></Group>", "g(\xE9" "A\\t\\n\\r|\\r\\n|new) "},
        {"character references in an attribute", "<Group Id=\"2\" Name=\"a&#9;b&#10;c&#13;d&#13;&#10;e&#233;\"/>",
         "a\\tb\\nc\\rd\\r\\ne\xE9(new) "},
        {"entity references", "<Group Id=\"2\" Name=\"&lt;&amp;&gt;&quot;&apos;\"><Keyword>&lt;&amp;&gt;&quot;&apos;"
                              "</Keyword></Group>", "<&>\"'(<&>\"'|new) "},
        {"CR, CR LF, LF and tab as they are in text",
         "<Group Id=\"2\" Name=\"g\"><Keyword>a\rb\r\nc\nd\te</Keyword></Group>", "g(a\\nb\\nc\\nd\\te|new) "},
        {"CR, CR LF, LF and tab as they are in an attribute", "<Group Id=\"2\" Name=\"a\rb\r\nc\nd\te\"/>",
         "a b c d e(new) "},
        {"CDATA sections", "<Group Id=\"2\" Name=\"g\"><Keyword><![CDATA[<&>]]></Keyword><Keyword>a<![CDATA[ \r\n ]]>b"
                           "</Keyword><Keyword><![CDATA[]]></Keyword></Group>", "g(<&>|a \\n b||new) "},
        {"comments and processing instructions inside a group and a keyword",
         "<Group Id=\"2\" Name=\"g\"><!-- c --><?pi in group?><Keyword>a<!--x-->b<?p q?>c</Keyword>"
         "<Keyword><!-- only --></Keyword></Group>", "g(abc||new) "},
        {"blanks", "<Group Id=\"2\" Name=\" \">\n  <Keyword> </Keyword>\n  <Keyword>  two  </Keyword>\n"
                   "  <Keyword>\n</Keyword>\n  <Keyword>\t</Keyword>\n</Group>", " ( |  two  |\\n|\\t|new) "},
        {"any-case name attributes", "<Group Id=\"2\" NAME=\"upper\"/>\n<Group Id=\"3\" name=\"first\" nAmE=\"last\"/>",
         "UPPER() renamed() ", "",
         [](CGroupManager* m) { m->FindGroup(2)->Name = "UPPER"; m->FindGroup(3)->Name = "renamed"; }},
        {"a Latin-1 file", File("<Group Id=\"2\" Name=\"Gr\xFC\xDF" "e\"><Keyword>s\xFC\xDF</Keyword></Group>",
                                "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n"), "Gr\xFC\xDF" "e(s\xFC\xDF|new) "},
        {"a windows-1252 file",
         File("<Group Id=\"2\" Name=\"\x80\"/>", "<?xml version=\"1.0\" encoding=\"windows-1252\"?>\n"), "\x80(new) "},
        {"a byte-order mark", File("<Group Id=\"2\" Name=\"\xC3\xA9\"/>", "\xEF\xBB\xBF<?xml version=\"1.0\"?>\n"),
         "\xE9(new) "},
        {"text the code page cannot show", "<Group Id=\"2\" Name=\"g\"/>\n<Group Id=\"3\" Name=\"\xD0\x96&#13;\"/>\n"
                                           "<Group Id=\"4\" Name=\"k\"><Keyword>\xF0\x9F\x98\x80</Keyword></Group>",
         "g(new) ", "? ,k,"},
        {"a long text", "<Group Id=\"2\" Name=\"" + Repeated("long&#13;&#10;", 30000) + "\"><Keyword>" +
                            Repeated("long&#13;\n", 30000) + "</Keyword></Group>",
         kLongRead + "(" + kLongRead + "|new) "},
        {"twins: two groups of one Id", "<Group Id=\"2\" Name=\"a\"/><Group Id=\"2\" Name=\"b\"/>", "a(new) b() "},
        {"twins: two groups of one name without Ids",
         "<Group Name=\"t\"><Keyword>k</Keyword></Group>\n<Group Name=\"t\"><Keyword>k</Keyword></Group>",
         "t(k|new) t(k) "},
        {"CR, CR LF, LF and tab made here", kG, "g( \\r\\n ) a\\rb\\r\\nc\\nd\\te( \\r\\n ) ", "",
         Made("a\rb\r\nc\nd\te", " \r\n ")},
        {"markup made here", kG, "g(]]><!--&#13;) <&>\"']]>(]]><!--&#13;) ", "", Made("<&>\"']]>", "]]><!--&#13;")},
        {"Latin-1 and a long text made here", kG, "g(" + kLongRead + ") \xE9\xFF(" + kLongRead + ") ", "",
         Made("\xE9\xFF", kLong)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        ASSERT_EQ("", Start(c.file.find("<NimboPurgelet") == std::string::npos ? File(c.file) : c.file));
        const std::vector<GroupEntry> base = m->UserGroups();
        c.change(m);
        const std::string meant = Shown(m->UserGroups());
        EXPECT_EQ(c.meant, Shown(m->UserGroups(), false));
        // As the program saves: each group the file holds is the group at its place as read.
        CGroupsFile file;
        ASSERT_TRUE(file.Open(path.c_str()) && file.WriteGroups(m, &base) && file.Save()) << file.Status().writeError;
        EXPECT_EQ(meant, Shown(file.Written()));
        const std::string bytes = ReadWholeFile(path);
        std::string unshown, keptUnshown;
        EXPECT_EQ(meant, Read(path, &keptUnshown));  // the reading kept for the next change, and a start's
        EXPECT_EQ(meant, Read(Fresh(bytes), &unshown)) << bytes.substr(0, 2000);
        EXPECT_EQ(c.unshown, unshown);
        // Read and written again, the bytes stay the same bytes.
        const std::string again = Fresh(bytes);
        Reset();
        ASSERT_TRUE(m->Load(again.c_str()) && m->Save(again.c_str()));
        EXPECT_EQ("", Difference(bytes, ReadWholeFile(again)));
    }
}

// Another program gave this run's last Id to a group the code page cannot show, ahead of
// the one made or edited here, which would then read back without an Id: nothing is written.
TEST_F(GroupsFileForms, ASaveWhoseBytesWouldReadAsOtherGroupsWritesNothing) {
    const std::string unshown = "<Group Id=\"@\" Name=\"\xD0\x96\"/>\n";  // @: the Id of the last group here
    const struct {
        const char *label, *group;   // the group that would read back without an Id
        std::string before, theirs;  // the groups as loaded, and as another program left them
        std::function<void(CGroupManager*)> change;
    } cases[] = {
        {"a group made here", "made", "<Group Id=\"2\" Name=\"a\"/>", "<Group Id=\"2\" Name=\"a\"/>\n" + unshown,
         [](CGroupManager* m) { m->CreateGroup()->Name = "made"; }},
        {"a group edited here", "b", "<Group Id=\"3\" Name=\"b\"/>", unshown + "<Group Id=\"3\" Name=\"b\"/>",
         [](CGroupManager* m) { m->FindGroup(3)->AddKeyword("k"); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        ASSERT_EQ("", Start(File(c.before)));
        c.change(m);
        const std::string id = std::to_string(m->m_Groups.back()->Id);
        std::string theirs = File(c.theirs);
        ASSERT_TRUE(WriteWholeFile(path, theirs.replace(theirs.find('@'), 1, id)));
        GroupsFileStatus status;
        EXPECT_FALSE(m->Save(path.c_str(), &status));
        EXPECT_EQ("the new file would not read back as the groups: the group \"" + std::string(c.group) +
                  "\" would read back without an Id, not " + id, status.writeError);
        EXPECT_EQ(theirs, ReadWholeFile(path));
    }
}

// A name past what the parser takes (ten million bytes) is written only when its bytes
// read back as it: the writing cannot vouch for them, they are parsed.
TEST_F(GroupsFileForms, ANameLongerThanTheParserTakesIsWrittenOnlyWhenItReadsBack) {
    const std::string before = File("<Group Id=\"2\" Name=\"g\"/>");
    ASSERT_EQ("", Start(before));
    m->CreateGroup()->Name = Repeated("\xE9", 5000000);  // ten million bytes in UTF-8
    const std::string meant = Shown(m->UserGroups());
    GroupsFileStatus status;
    std::string unshown;
    if (m->Save(path.c_str(), &status)) {
        EXPECT_EQ(meant, Read(Fresh(ReadWholeFile(path)), &unshown));
    } else {
        EXPECT_EQ(0u, status.writeError.find("the new file would not read back as the groups: it is not well-formed"))
            << status.writeError;
        EXPECT_EQ(before, ReadWholeFile(path));
    }
}

}  // namespace
