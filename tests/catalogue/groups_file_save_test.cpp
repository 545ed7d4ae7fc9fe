// What a save of the groups file writes: UTF-8 under its own declaration whatever the
// file declared, names and keywords that read back equal or no write at all, the old
// file whole when the write fails, its attributes kept, and no temporary file left.
#include <gtest/gtest.h>
#include "catalogue/groups.h"
#include "catalogue/groups_file.h"
#include "catalogue_test_util.h"

using cattest::ReadWholeFile;
using cattest::WriteWholeFile;

namespace {

class GroupsFileSave : public cattest::GroupsTest {
protected:
    std::string Names() const {
        std::string s;
        for (size_t g = 1; g < m->m_Groups.size(); ++g) {
            s += m->m_Groups[g]->Name + "(";
            for (size_t i = 0; i < m->m_Groups[g]->Keywords.size(); ++i)
                s += (i ? "," : "") + m->m_Groups[g]->Keywords[i];
            s += ")";
        }
        return s;
    }
    size_t Files() const {
        size_t n = 0;
        WIN32_FIND_DATAA fd;
        HANDLE h = FindFirstFileA((folder.Path() + "*").c_str(), &fd);
        if (h == INVALID_HANDLE_VALUE) return 0;
        do {
            if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) ++n;
        } while (FindNextFileA(h, &fd));
        FindClose(h);
        return n;
    }
    cattest::TempFolder folder;
    std::string path = folder.Path() + "Purgelet.xml";
};

std::string Utf16LE(const std::string& utf8) {
    const int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), (int)utf8.size(), nullptr, 0);
    std::wstring wide(n, L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), (int)utf8.size(), &wide[0], n);
    std::string bytes("\xFF\xFE", 2);
    for (wchar_t c : wide) {
        bytes += (char)(c & 0xFF);
        bytes += (char)(c >> 8);
    }
    return bytes;
}

// The file the program writes for one group "Grüße" with the keyword "süß": the bytes whole.
const char kWritten[] =
    "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
    "<NimboPurgelet Version=\"1.1\">\n<Purgelet>\n<Group Id=\"2\" Name=\"Gr\xC3\xBC\xC3\x9F" "e\">\n"
    "<Keyword>s\xC3\xBC\xC3\x9F</Keyword>\n</Group>\n</Purgelet>\n</NimboPurgelet>\n";

}  // namespace

TEST_F(GroupsFileSave, EveryEncodingTheParserReadsIsWrittenAsUtf8AndKeepsItsNamesOverSaves) {
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
            EXPECT_EQ("Gr\xFC\xDF" "e(s\xFC\xDF)", Names());
            ASSERT_TRUE(m->Save(path.c_str(), &status)) << status.writeError;
            EXPECT_EQ(kWritten, ReadWholeFile(path));
        }
        EXPECT_EQ(1u, Files());
    }
}

// The file-level rule: text XML 1.0 cannot hold is refused whole, and the old file
// stays; everything else reads back exactly, blanks at the ends included.
TEST_F(GroupsFileSave, NamesAndKeywordsReadBackEqualOrNothingIsWritten) {
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
        EXPECT_EQ(1u, Files());
    }
    // The same rule for the dialogs that ask before a save.
    EXPECT_EQ("", GroupsFileTextFault(" Gr\xFC\xDF" "e\t\r\n"));
    EXPECT_EQ("the control character U+0001", GroupsFileTextFault("a\x01"));
}

namespace {

BOOL(WINAPI* g_realWriteFile)(HANDLE, LPCVOID, DWORD, LPDWORD, LPOVERLAPPED) = nullptr;

// The disk fills up halfway through the write.
BOOL WINAPI WriteHalfThenFail(HANDLE file, LPCVOID data, DWORD size, LPDWORD written, LPOVERLAPPED overlapped) {
    DWORD half = 0;
    g_realWriteFile(file, data, size / 2, &half, overlapped);
    if (written) *written = half;
    SetLastError(ERROR_DISK_FULL);
    return FALSE;
}

}  // namespace

TEST_F(GroupsFileSave, AWriteThatFailsMidwayLeavesTheOldFileWholeAndNoTemporaryFile) {
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
    EXPECT_EQ(1u, Files());
}

TEST_F(GroupsFileSave, TheReplacedFileKeepsItsAttributesAndLeftoversAreRemoved) {
    ASSERT_TRUE(WriteWholeFile(path, kWritten));
    ASSERT_TRUE(SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE));
    const DWORD before = GetFileAttributesA(path.c_str());
    Add("New", {"n"});
    GroupsFileStatus status;
    ASSERT_TRUE(m->Save(path.c_str(), &status)) << status.writeError;
    EXPECT_NE(std::string::npos, ReadWholeFile(path).find("Name=\"New\""));
    EXPECT_EQ(before, GetFileAttributesA(path.c_str()));
    EXPECT_EQ(1u, Files());

    // A crash in the middle of a save leaves its temporary file; the next start removes it
    // and nothing else.
    ASSERT_TRUE(WriteWholeFile(path + ".~1a2b.tmp", "<NimboPurgelet"));
    ASSERT_TRUE(WriteWholeFile(path + ".~.txt", "other"));
    ASSERT_TRUE(WriteWholeFile(folder.Path() + "Other.xml.~1a2b.tmp", "other"));
    EXPECT_EQ(1, RemoveGroupsFileLeftovers(path));
    EXPECT_EQ(3u, Files());
    EXPECT_NE(std::string::npos, ReadWholeFile(path).find("Name=\"New\""));
}

// The state a later save compares with: any change of the bytes is seen.
TEST_F(GroupsFileSave, TheFileStateSeesEveryChangeOfTheBytes) {
    const GroupsFileState missing = ReadGroupsFileState(path);
    EXPECT_FALSE(missing.exists);
    ASSERT_TRUE(WriteWholeFile(path, "abc"));
    const GroupsFileState first = ReadGroupsFileState(path);
    EXPECT_TRUE(first.exists && first.readable);
    EXPECT_EQ(3u, first.size);
    EXPECT_NE(missing, first);
    EXPECT_EQ(first, ReadGroupsFileState(path));
    ASSERT_TRUE(WriteWholeFile(path, "abd"));
    EXPECT_NE(first, ReadGroupsFileState(path));
}
