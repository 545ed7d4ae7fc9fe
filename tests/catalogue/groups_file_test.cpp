// The groups file through the platform's XML document object: layout, round trip, and
// what happens to files that are not what we wrote.
#include <gtest/gtest.h>
#include "catalogue/groups.h"
#include "catalogue/groups_file.h"
#include "catalogue_test_util.h"

using cattest::ReadWholeFile;
using cattest::TempFolder;
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
    EXPECT_EQ(1, m->m_Groups[1]->Id);  // Ids are given afresh, not read

    // Loading appends; saving what was loaded writes the same bytes again.
    ASSERT_TRUE(m->Save(path.c_str()));
    EXPECT_EQ(bytes, ReadWholeFile(path));
}

TEST_F(GroupsFile, AFileOfWhatTheProgramKeepsIsReadAndSavedWithItsRootAttributes) {
    ASSERT_TRUE(WriteWholeFile(path,
                               "<?xml version=\"1.0\"?>\r\n"
                               "<!-- outside the root: the document keeps it -->\r\n"
                               "<NimboPurgelet Version=\"1.0\" Owner=\"me\">\r\n"
                               "  <Purgelet>\r\n"
                               "    <Group Id=\"9\" NAME=\"Caps\"><Keyword>a</Keyword><Keyword><![CDATA[<b>]]></Keyword>"
                               "</Group>\r\n"
                               "    <Group Id=\"1\"><Keyword>nameless</Keyword></Group>\r\n"
                               "  </Purgelet>\r\n"
                               "</NimboPurgelet>\r\n"));
    GroupsFileStatus status;
    ASSERT_TRUE(m->Load(path.c_str(), &status));
    EXPECT_EQ(GroupsFileStatus::Read, status.kind) << status.reason;
    EXPECT_EQ("Other()Caps(a,<b>)(nameless)", Names());

    ASSERT_TRUE(m->Save(path.c_str()));
    // The root keeps its attributes (the Version of the file is not rewritten).
    EXPECT_EQ(
        "<NimboPurgelet Version=\"1.0\" Owner=\"me\">\n"
        "<Purgelet>\n"
        "<Group Id=\"2\" Name=\"Caps\">\n"
        "<Keyword>a</Keyword>\n"
        "<Keyword>&lt;b&gt;</Keyword>\n"
        "</Group>\n"
        "<Group Id=\"3\" Name=\"\">\n"
        "<Keyword>nameless</Keyword>\n"
        "</Group>\n"
        "</Purgelet>\n"
        "</NimboPurgelet>",
        Body(ReadWholeFile(path)).substr(Body(ReadWholeFile(path)).find("<NimboPurgelet"),
                                         Body(ReadWholeFile(path)).find_last_not_of("\r\n") + 1 -
                                             Body(ReadWholeFile(path)).find("<NimboPurgelet")));
}

// A file the program would not load whole is damaged: read, it would lose at the first
// save what the program does not keep.
TEST_F(GroupsFile, AFileWithWhatTheProgramWouldDropIsDamagedAndKept) {
    const struct {
        const char* label;
        const char* inside;  // the root's content
        const char* reason;
    } cases[] = {
        {"two groups elements",
         "<Purgelet><Group Name=\"First\"/></Purgelet><Purgelet><Group Name=\"Second\"/></Purgelet>",
         "it holds a second <Purgelet> element, which the program would not keep"},
        {"an element beside the groups", "<Notes>mine</Notes><Purgelet/>",
         "it holds an element <Notes> beside the groups, which the program would not keep"},
        {"text beside the groups", "<Purgelet/>loose", "it holds text beside the groups, which the program would not keep"},
        {"a comment beside the groups", "<!-- mine --><Purgelet/>",
         "it holds a comment beside the groups, which the program would not keep"},
        {"a group in lower case", "<Purgelet><group Name=\"g\"/></Purgelet>",
         "it holds an element <group> among the groups, which the program would not keep"},
        {"a keyword in lower case", "<Purgelet><Group Name=\"g\"><keyword>k</keyword></Group></Purgelet>",
         "it holds an element <keyword> in a group, which the program would not keep"},
        {"a zero-width joiner in a keyword's name",
         "<Purgelet><Group Name=\"g\"><Key\xE2\x80\x8Dword>k</Key\xE2\x80\x8Dword></Group></Purgelet>",
         "it holds an element <Key"},
        {"another attribute of a group", "<Purgelet><Group Name=\"g\" Colour=\"red\"/></Purgelet>",
         "it holds an attribute Colour on a group, which the program would not keep"},
        {"two names", "<Purgelet><Group Name=\"g\" NAME=\"h\"/></Purgelet>",
         "it holds an attribute NAME on a group, which the program would not keep"},
        {"an element in a keyword", "<Purgelet><Group Name=\"g\"><Keyword>a<b/>c</Keyword></Group></Purgelet>",
         "it holds an element <b> in a keyword, which the program would not keep"},
        {"an attribute of a keyword", "<Purgelet><Group Name=\"g\"><Keyword Case=\"1\">k</Keyword></Group></Purgelet>",
         "it holds an attribute Case on a keyword, which the program would not keep"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        Reset();
        const std::string bytes = std::string("<NimboPurgelet>") + c.inside + "</NimboPurgelet>";
        ASSERT_TRUE(WriteWholeFile(path, bytes));
        GroupsFileStatus status;
        EXPECT_TRUE(m->Load(path.c_str(), &status));
        EXPECT_EQ(GroupsFileStatus::Incomplete, status.kind);
        EXPECT_TRUE(status.Damaged());
        EXPECT_EQ(0u, status.reason.find(c.reason)) << status.reason;
        EXPECT_EQ("Other()", Names());
        Add("Mine", {"m"});
        EXPECT_FALSE(m->Save(path.c_str(), &status));
        EXPECT_EQ(bytes, ReadWholeFile(path));
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
    EXPECT_EQ(GroupsFileStatus::Unreadable, status.kind);
    EXPECT_FALSE(status.reason.empty());
    Add("New", {"n"});
    EXPECT_FALSE(m->Save(path.c_str(), &status));
    EXPECT_EQ(status.reason, status.writeError);
    CloseHandle(held);
    EXPECT_EQ(bytes, ReadWholeFile(path));
    bool exists = true;
    ReadWholeFile(path + ".damaged-4", &exists);
    EXPECT_FALSE(exists);
}

TEST_F(GroupsFile, AFailedSaveReportsFalseAndKeepsTheOldFile) {
    Add("Old", {"o"});
    ASSERT_TRUE(m->Save(path.c_str()));
    const std::string before = ReadWholeFile(path);
    Reset();
    Add("New", {"n"});

    // A read-only file is not replaced. (Windows refuses to move a file over a read-only
    // one; Wine does not, so the catalogue checks the attribute itself.)
    ASSERT_TRUE(SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY));
    GroupsFileStatus status;
    EXPECT_FALSE(m->Save(path.c_str(), &status));
    EXPECT_EQ("the file is read-only", status.writeError);
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(before, ReadWholeFile(path));
    EXPECT_EQ(1u, FilesIn(folder.Path()));

    // A file another program holds open without sharing cannot be replaced; the written
    // copy is thrown away.
    HANDLE held = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, held);
    const BOOL savedWhileHeld = m->Save(path.c_str(), &status);
    CloseHandle(held);
    EXPECT_FALSE(savedWhileHeld);
    EXPECT_FALSE(status.writeError.empty());
    EXPECT_EQ(before, ReadWholeFile(path));
    EXPECT_EQ(1u, FilesIn(folder.Path()));

    // A folder that does not exist cannot take the file at all.
    const std::string nowhere = folder.Path() + "missing\\Purgelet.xml";
    EXPECT_FALSE(m->Save(nowhere.c_str()));
    bool exists = true;
    ReadWholeFile(nowhere, &exists);
    EXPECT_FALSE(exists);

    // A file standing where the folder should be.
    const std::string blocked = path + "\\Purgelet.xml";
    EXPECT_FALSE(m->Save(blocked.c_str()));
    EXPECT_EQ(before, ReadWholeFile(path));
}

}  // namespace
