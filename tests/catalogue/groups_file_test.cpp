// The groups file through the platform's XML document object: layout, round trip, what
// happens to files that are not what we wrote, and what a save writes: UTF-8 under its
// own declaration whatever the file declared, names and keywords that read back equal or
// no write at all, the old file whole when the write fails, its attributes kept.
#include <gtest/gtest.h>
#include "catalogue/groups.h"
#include "catalogue/groups_file.h"
#include "catalogue_test_util.h"

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
        // Text the code page of the tests (1252) cannot hold: read, it would be written
        // back as "?" or as the look-alike that best fit makes of it ("\u0101" as "a").
        {"a name in Cyrillic", "<Purgelet><Group Name=\"g\"/><Group Name=\"\xD0\x96\xD0\xB6\"/></Purgelet>",
         "the name of group 2 (\"??\") holds the character U+0416, which this system's code page ("},
        {"a keyword with a best-fit character",
         "<Purgelet><Group Name=\"Mine\"><Keyword>k</Keyword><Keyword>\xC4\x81shok</Keyword></Group></Purgelet>",
         "a keyword of group 1 (\"Mine\") holds the character U+0101, which this system's code page ("},
        {"a combining accent", "<Purgelet><Group Name=\"Cafe\xCC\x81\"/></Purgelet>",
         "the name of group 1 (\"Cafe\xB4\") holds the character U+0301, which this system's code page ("},
        {"a character beyond the first plane",
         "<Purgelet><Group Name=\"g\"><Keyword>\xF0\x9F\x98\x80</Keyword></Group></Purgelet>",
         "a keyword of group 1 (\"g\") holds the character U+1F600, which this system's code page ("},
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

// ---- what a save writes ----------------------------------------------------------------

// The file the program writes for one group "Grüße" with the keyword "süß": the bytes whole.
const char kWritten[] =
    "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
    "<NimboPurgelet Version=\"1.1\">\n<Purgelet>\n<Group Id=\"2\" Name=\"Gr\xC3\xBC\xC3\x9F" "e\">\n"
    "<Keyword>s\xC3\xBC\xC3\x9F</Keyword>\n</Group>\n</Purgelet>\n</NimboPurgelet>\n";

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
            EXPECT_EQ(kWritten, ReadWholeFile(path));
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

TEST_F(GroupsFile, AWriteThatFailsMidwayLeavesTheOldFileWholeAndNoTemporaryFile) {
    ASSERT_TRUE(WriteWholeFile(path, kWritten));
    Add("New", {"n"});
    g_realWriteFile = reinterpret_cast<decltype(g_realWriteFile)>(
        cattest::PatchImport("kernel32.dll", "WriteFile", reinterpret_cast<void*>(&WriteHalfThenFail)));
    ASSERT_TRUE(g_realWriteFile != nullptr);
    GroupsFileStatus status;
    const BOOL saved = m->Save(path.c_str(), &status);
    cattest::PatchImport("kernel32.dll", "WriteFile", reinterpret_cast<void*>(g_realWriteFile));
    EXPECT_FALSE(saved);
    EXPECT_EQ(0u, status.writeError.find("the new file could not be written (")) << status.writeError;
    EXPECT_EQ(kWritten, ReadWholeFile(path));
    EXPECT_EQ(1u, FilesIn(folder.Path()));
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
}

}  // namespace
