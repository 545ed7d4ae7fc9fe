// The replace at the end of a save, through the program's store, with the platform's
// failures staged: a file set aside and not put back is put back by the next look at the
// file (the same run's next save, or the next start after the session ended), and never
// when the user deleted the file; another program's file made at the name in the gap, or
// the file deleted since the read, is read (or written anew), never reported as a failure.
#include "main_window_groups_fixture.h"
#include "app/groups_kept.h"
#include "app/groups_store.h"
#include "catalogue/groups.h"
#include "catalogue/groups_file.h"
#include "support/import_patch.h"
#include <gtest/gtest.h>
#include <string>

using namespace mainwindowgroupstest;

namespace {

std::string g_strGroupsFile;  // the path the staged failures concern
std::string g_strTheirs;      // what another program writes there, in the gap
int g_nMovesIn = 0;           // moves onto the groups file's name while staged
bool g_bMoveInFails = false;  // every move onto the name fails
bool g_bNewBytesFail = false; // a move of a save's new bytes onto the name fails
bool g_bNotedAtTempDelete = false;  // a write's note was there when a save's new bytes went

BOOL(WINAPI* g_realMove)(LPCSTR, LPCSTR, DWORD) = NULL;
BOOL(WINAPI* g_realSetInfo)(HANDLE, FILE_INFO_BY_HANDLE_CLASS, LPVOID, DWORD) = NULL;
BOOL(WINAPI* g_realWrite)(HANDLE, LPCVOID, DWORD, LPDWORD, LPOVERLAPPED) = NULL;

BOOL WINAPI StagedMove(LPCSTR pszFrom, LPCSTR pszTo, DWORD dwFlags)
{
    const bool bOntoFile = pszTo != NULL && lstrcmpiA(pszTo, g_strGroupsFile.c_str()) == 0;
    const size_t nFrom = pszFrom != NULL ? strlen(pszFrom) : 0;
    if (bOntoFile && (g_bMoveInFails || (g_bNewBytesFail && nFrom > 4 && lstrcmpiA(pszFrom + nFrom - 4, ".tmp") == 0))) {
        ::SetLastError(ERROR_WRITE_FAULT);
        return FALSE;
    }
    // Another program saves its own file there while the name stands empty.
    if (bOntoFile && g_nMovesIn++ == 0 && !g_strTheirs.empty())
        std::ofstream(g_strGroupsFile.c_str(), std::ios::binary) << g_strTheirs;
    return g_realMove(pszFrom, pszTo, dwFlags);
}

// A rename through a handle onto the groups file's name (the old file put back) fails.
BOOL WINAPI StagedSetInfo(HANDLE hFile, FILE_INFO_BY_HANDLE_CLASS kind, LPVOID pInfo, DWORD dwSize)
{
    if (kind == FileRenameInfo) {
        const FILE_RENAME_INFO* pRename = (const FILE_RENAME_INFO*)pInfo;
        const std::wstring name(pRename->FileName, pRename->FileNameLength / sizeof(WCHAR));
        if (name.size() < 4 || name.compare(name.size() - 4, 4, L".old") != 0) {
            ::SetLastError(ERROR_WRITE_FAULT);
            return FALSE;
        }
    }
    return g_realSetInfo(hFile, kind, pInfo, dwSize);
}

BOOL(WINAPI* g_realDelete)(LPCSTR) = NULL;

BOOL WINAPI NotedTempDelete(LPCSTR pszPath)
{
    const size_t nPath = pszPath != NULL ? strlen(pszPath) : 0;
    if (nPath > 4 && lstrcmpiA(pszPath + nPath - 4, ".tmp") == 0)
        for (const auto& value : mainwindowtest::StoredValues(kKeptChangesKey))
            g_bNotedAtTempDelete = g_bNotedAtTempDelete || value.first.find(KeptWriteNoteName("")) != std::string::npos;
    return g_realDelete(pszPath);
}

// The groups file is deleted while the save writes its new bytes.
BOOL WINAPI DeletingWrite(HANDLE hFile, LPCVOID pData, DWORD nSize, LPDWORD pWritten, LPOVERLAPPED pOverlapped)
{
    ::DeleteFileA(g_strGroupsFile.c_str());
    return g_realWrite(hFile, pData, nSize, pWritten, pOverlapped);
}

class GroupsStoreReplaceTest : public MainWindowGroupsFileTest
{
protected:
    void SetUp() override
    {
        MainWindowGroupsFileTest::SetUp();
        g_strGroupsFile = m_groupsFile;
        g_strTheirs.clear();
        g_nMovesIn = 0;
        g_bMoveInFails = false;
        UseProgramKey();
    }
    void TearDown() override
    {
        Unstage();
        RemoveSaveFiles();
        MainWindowGroupsFileTest::TearDown();
    }
    void Stage(const char* pszFunction, void* pReplacement, void** ppReal)
    {
        *ppReal = testsupport::PatchImport("kernel32.dll", pszFunction, pReplacement);
        ASSERT_TRUE(*ppReal != NULL) << pszFunction;
        m_staged.push_back({pszFunction, ppReal});
    }
    void Unstage()
    {
        for (const auto& staged : m_staged) testsupport::PatchImport("kernel32.dll", staged.first, *staged.second);
        m_staged.clear();
    }
    // The files a save makes beside the groups file ("<file>.~*"), by name.
    std::vector<std::string> SaveFiles() const
    {
        std::vector<std::string> names;
        WIN32_FIND_DATAA found;
        HANDLE hSearch = ::FindFirstFileA((m_groupsFile + ".~*").c_str(), &found);
        if (hSearch == INVALID_HANDLE_VALUE) return names;
        do
            names.push_back(found.cFileName);
        while (::FindNextFileA(hSearch, &found));
        ::FindClose(hSearch);
        return names;
    }
    void RemoveSaveFiles() const
    {
        const std::string folder = m_groupsFile.substr(0, m_groupsFile.rfind('\\') + 1);
        for (const std::string& name : SaveFiles()) ::DeleteFileA((folder + name).c_str());
    }
    // A new group "nh" with the keyword "nhkw" in the groups read.
    static void MakeNh()
    {
        GroupEntry* pGroup = CGroupManager::GetInstance()->CreateGroup();
        pGroup->Name = "nh";
        pGroup->AddKeyword("nhkw");
    }

    std::vector<std::pair<const char*, void**>> m_staged;
};

std::string WithGroup(const std::string& bytes, const std::string& group)
{
    return std::string(bytes).insert(bytes.find("</Purgelet>"), group);
}

const std::string kNh = GroupElement("Id=\"4\" Name=\"nh\"", {"nhkw"});

}  // namespace

// A save whose new file could not be moved in, nor the old one put back: the user's groups
// are only in the file set aside. The next look at the file puts it back before anything
// is read or written: the same run's next save, or, after the session ended with the
// change kept, the next start, which then stores the kept change into the user's groups.
TEST_F(GroupsStoreReplaceTest, AFileASaveSetAsideAndCouldNotPutBackIsPutBackByTheNextLook)
{
    for (const bool bSessionEnds : {false, true}) {
        SCOPED_TRACE(bSessionEnds ? "the next start after the session's end" : "the same run's next save");
        WriteGroups(kTwoGroups);
        ClearGroups();
        TestApp().m_boxes.clear();
        g_nMovesIn = 0;
        ASSERT_EQ("", LoadGroupsFile());
        MakeNh();
        g_bMoveInFails = true;
        Stage("MoveFileExA", (void*)&StagedMove, (void**)&g_realMove);
        Stage("SetFileInformationByHandle", (void*)&StagedSetInfo, (void**)&g_realSetInfo);
        EXPECT_FALSE(SaveGroupsFile(false));
        Unstage();
        g_bMoveInFails = false;
        ASSERT_FALSE(Exists(m_groupsFile)) << "staged in vain";

        if (bSessionEnds) {
            CGroupsStore::Instance().EndSession();
            ClearGroups();
            EXPECT_EQ(FileLines() + "now holds the changes to the groups that could not be stored in it when the "
                                    "program last ended.",
                      LoadGroupsFileAndStoreKept());
        } else {
            CGroupManager::GetInstance()->FindGroup(2)->AddKeyword("k2");
            EXPECT_TRUE(SaveGroupsFile(true));
            EXPECT_TRUE(TestApp().m_boxes.empty()) << TestApp().m_boxes[0].text;
        }
        std::string expected = WithGroup(kTwoGroups, kNh);
        if (!bSessionEnds) expected.insert(expected.find("</Group>"), "<Keyword>k2</Keyword>\n");
        ExpectFileNodes(expected);
    }
}

// The write storing a kept change cannot move its new file in, nor rename the old one back
// through its handle: the old one goes back by its name, and the write's note is gone before
// its new bytes are, so that a death between leaves no note of a write that seems to have
// got there.
TEST_F(GroupsStoreReplaceTest, AWriteThatDidNotTakeTheNameTakesItsNoteAwayBeforeItsNewBytes)
{
    WriteGroups(kTwoGroups);
    std::vector<GroupEntry> base(1);
    base[0].Id = 2, base[0].Name = "Tools", base[0].Keywords = {"corpus"};
    std::vector<GroupEntry> here = base;
    here[0].Keywords.push_back("kt");
    std::string record;
    ASSERT_TRUE(KeepGroupChanges(GroupChangesBetween(base, here, {}, {}), &record));
    ClearGroups();
    g_bNewBytesFail = true;
    g_bNotedAtTempDelete = false;
    Stage("MoveFileExA", (void*)&StagedMove, (void**)&g_realMove);
    Stage("SetFileInformationByHandle", (void*)&StagedSetInfo, (void**)&g_realSetInfo);
    Stage("DeleteFileA", (void*)&NotedTempDelete, (void**)&g_realDelete);
    EXPECT_NE(FileLines() + kNowHolds, LoadGroupsFileAndStoreKept());
    Unstage();
    g_bNewBytesFail = false;
    ASSERT_EQ(kTwoGroups, GroupsFile()) << "not put back";
    EXPECT_FALSE(g_bNotedAtTempDelete);
}

// The start puts back the file a save set aside only when that save never finished (its
// new bytes lie beside the file under the same name), and never over a file.
TEST_F(GroupsStoreReplaceTest, TheStartPutsBackOnlyTheFileAnUnfinishedSaveSetAside)
{
    const struct
    {
        const char* what;
        bool bFile;                      // a file at the name
        const char *pszOld, *pszTmp;     // beside it
        bool bPutBack;
    } cases[] = {
        {"cut short between the two moves", false, ".~5e1.old", ".~5e1.tmp", true},
        {"deleted by the user, an old copy beside", false, ".~5e1.old", NULL, false},
        {"deleted by the user, another save's leftover beside", false, ".~5e1.old", ".~77.tmp", false},
        {"a file at the name", true, ".~5e1.old", ".~5e1.tmp", false},
    };
    const std::string other = GroupsFileOf(GroupElement("Id=\"2\" Name=\"Other program\"", {"op"}));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        RemoveSaveFiles();
        ::DeleteFileA(m_groupsFile.c_str());
        if (c.bFile) WriteGroups(other);
        std::ofstream((m_groupsFile + c.pszOld).c_str(), std::ios::binary) << kTwoGroups;
        if (c.pszTmp != NULL) std::ofstream((m_groupsFile + c.pszTmp).c_str(), std::ios::binary) << "<NimboPurg";
        ClearGroups();
        EXPECT_EQ("", LoadGroupsFile());
        std::vector<std::string> names;
        for (const GroupEntry& group : CGroupManager::GetInstance()->UserGroups()) names.push_back(group.Name);
        const std::vector<std::string> expected =
            c.bPutBack ? std::vector<std::string>{"Tools", "Media"}
                       : c.bFile ? std::vector<std::string>{"Other program"} : std::vector<std::string>();
        EXPECT_EQ(expected, names);
        EXPECT_EQ(c.bPutBack ? std::string(kTwoGroups) : c.bFile ? other : std::string(""), GroupsFile());
        // What is not put back stays beside; the new bytes of an unfinished save go.
        EXPECT_EQ(c.bPutBack ? std::vector<std::string>() : std::vector<std::string>{"Purgelet.xml" + std::string(c.pszOld)},
                  SaveFiles());
    }
}

// Another program makes its file at the name between the moves of a save here, or deletes
// the file after the save read it: the save reads the new file and merges the change into
// it, or writes its groups anew, and nothing is reported. A file set aside beside the
// other program's file stays there (it may hold groups that one lacks) and is never put back.
TEST_F(GroupsStoreReplaceTest, AFileMadeInTheGapOrDeletedSinceTheReadIsReadNotReportedAsAFailure)
{
    const std::string theirs = WithGroup(kTwoGroups, GroupElement("Id=\"4\" Name=\"Theirs\"", {"t"}));
    for (const bool bClash : {true, false}) {
        SCOPED_TRACE(bClash ? "a file made at the name in the gap" : "the file deleted since the read");
        RemoveSaveFiles();
        WriteGroups(kTwoGroups);
        ClearGroups();
        TestApp().m_boxes.clear();
        g_nMovesIn = 0;
        g_strTheirs = bClash ? theirs : "";
        ASSERT_EQ("", LoadGroupsFile());
        MakeNh();
        if (bClash)
            Stage("MoveFileExA", (void*)&StagedMove, (void**)&g_realMove);
        else
            Stage("WriteFile", (void*)&DeletingWrite, (void**)&g_realWrite);
        const bool bSaved = SaveGroupsFile(true);
        Unstage();
        EXPECT_TRUE(bSaved);
        EXPECT_TRUE(TestApp().m_boxes.empty()) << TestApp().m_boxes[0].text;
        if (!bClash) {
            ExpectFileNodes(WithGroup(kTwoGroups, kNh));
            continue;
        }
        const std::vector<std::string> beside = SaveFiles();
        EXPECT_EQ(1u, beside.size());
        for (const std::string& name : beside) {
            const std::string aside = m_groupsFile.substr(0, m_groupsFile.rfind('\\') + 1) + name;
            EXPECT_EQ(".old", name.substr(name.size() - 4));
            EXPECT_EQ(kTwoGroups, mainwindowtest::ReadFile(aside));
            ::DeleteFileA(aside.c_str());
        }
        ExpectFileNodes(WithGroup(theirs, GroupElement("Id=\"5\" Name=\"nh\"", {"nhkw"})));
    }
}

namespace {

// Another copy of the program starts on the same file between the save's read-back and
// its move-in, and removes the new bytes as a leftover of a save cut short.
BOOL WINAPI TakingMove(LPCSTR pszFrom, LPCSTR pszTo, DWORD dwFlags)
{
    if (pszTo != NULL && lstrcmpiA(pszTo, g_strGroupsFile.c_str()) == 0 && g_nMovesIn++ == 0)
        ::DeleteFileA(pszFrom);
    return g_realMove(pszFrom, pszTo, dwFlags);
}

int g_nAsideHeld = 0;  // moves of a file set aside back to its name that fail yet

// The file a save set aside cannot be moved back to its name while another program holds
// it without sharing its deletion (g_nAsideHeld more tries).
BOOL WINAPI HeldAsideMove(LPCSTR pszFrom, LPCSTR pszTo, DWORD dwFlags)
{
    const std::string from = pszFrom != NULL ? pszFrom : "";
    if (g_nAsideHeld > 0 && pszTo != NULL && lstrcmpiA(pszTo, g_strGroupsFile.c_str()) == 0 && from.size() > 4 &&
        from.compare(from.size() - 4, 4, ".old") == 0) {
        --g_nAsideHeld;
        ::SetLastError(ERROR_SHARING_VIOLATION);
        return FALSE;
    }
    return g_realMove(pszFrom, pszTo, dwFlags);
}

}  // namespace

// The new bytes are gone at the move-in (another copy's start took them for a leftover):
// the save is made again, with the file there or not, and nothing is reported.
TEST_F(GroupsStoreReplaceTest, NewBytesTakenAwayBeforeTheMoveInAreWrittenAgain)
{
    for (const bool bFileThere : {true, false}) {
        SCOPED_TRACE(bFileThere ? "the file there" : "no file yet");
        RemoveSaveFiles();
        ::DeleteFileA(m_groupsFile.c_str());
        if (bFileThere) WriteGroups(kTwoGroups);
        ClearGroups();
        TestApp().m_boxes.clear();
        g_nMovesIn = 0;
        ASSERT_EQ("", LoadGroupsFile());
        MakeNh();
        Stage("MoveFileExA", (void*)&TakingMove, (void**)&g_realMove);
        const bool bSaved = SaveGroupsFile(true);
        Unstage();
        EXPECT_TRUE(bSaved);
        EXPECT_EQ(2, g_nMovesIn);
        EXPECT_TRUE(TestApp().m_boxes.empty()) << TestApp().m_boxes[0].text;
        ExpectFileNodes(bFileThere ? WithGroup(kTwoGroups, kNh)
                                   : GroupsFileOf(GroupElement("Id=\"2\" Name=\"nh\"", {"nhkw"})));
    }
}

// The start finds the file set aside by a save that never finished and cannot put it back
// at once (another program holds it): the pair stays, and the file counts as in use until
// it is back, so that no change is written at its empty name meanwhile. Once it can be
// moved, the next look puts it back and the change made meanwhile joins its groups.
TEST_F(GroupsStoreReplaceTest, AFileSetAsideThatCannotBePutBackYetCountsAsInUse)
{
    for (const bool bAMoment : {true, false}) {
        SCOPED_TRACE(bAMoment ? "held for a moment" : "held until after the user's change");
        RemoveSaveFiles();
        ::DeleteFileA(m_groupsFile.c_str());
        std::ofstream((m_groupsFile + ".~5e1.old").c_str(), std::ios::binary) << kTwoGroups;
        std::ofstream((m_groupsFile + ".~5e1.tmp").c_str(), std::ios::binary) << "<NimboPurg";
        ClearGroups();
        TestApp().m_boxes.clear();
        g_nAsideHeld = bAMoment ? 1 : 1000000;
        Stage("MoveFileExA", (void*)&HeldAsideMove, (void**)&g_realMove);
        const std::string strBox = LoadGroupsFile();
        if (!bAMoment) {
            EXPECT_NE(std::string::npos, strBox.find("is in use by another program (")) << strBox;
            EXPECT_NE(std::string::npos, strBox.find("Purgelet.xml.~5e1.old")) << strBox;
            MakeNh();
            EXPECT_FALSE(SaveGroupsFile(false));
            EXPECT_FALSE(Exists(m_groupsFile)) << GroupsFile();
            g_nAsideHeld = 0;
            EXPECT_TRUE(SaveGroupsFile(true));
            EXPECT_TRUE(TestApp().m_boxes.empty()) << TestApp().m_boxes[0].text;
        } else {
            EXPECT_EQ("", strBox);
            EXPECT_EQ(2u, CGroupManager::GetInstance()->UserGroups().size());
        }
        Unstage();
        ExpectFileNodes(bAMoment ? std::string(kTwoGroups) : WithGroup(kTwoGroups, kNh));
    }
}

// Changes the last run kept show from the start's load and are stored once the window is
// up, into the load's reading of the file: another program's save in between is read and
// merged with them, never written over.
TEST_F(GroupsStoreReplaceTest, AFileSavedBetweenTheStartAndTheStoreOfKeptChangesIsMergedWithThem)
{
    WriteGroups(kTwoGroups);
    ClearGroups();
    ASSERT_EQ("", LoadGroupsFile());
    MakeNh();
    CGroupsStore::Instance().EndSession();
    ClearGroups();
    EXPECT_EQ("", LoadGroupsFile());
    ASSERT_TRUE(CGroupsStore::Instance().KeepsChangesToStore());
    ASSERT_EQ(3u, CGroupManager::GetInstance()->UserGroups().size());
    EXPECT_EQ(std::string(kTwoGroups), GroupsFile());
    WriteGroups(WithGroup(kTwoGroups, GroupElement("Id=\"5\" Name=\"theirs\"", {"tkw"})));
    EXPECT_EQ(FileLines() + "now holds the changes to the groups that could not be stored in it when the program "
                            "last ended.",
              CGroupsStore::Instance().StoreKept());
    const std::string file = GroupsFile();
    for (const char* name : {"Name=\"Tools\"", "Name=\"Media\"", "Name=\"theirs\"", "Name=\"nh\""})
        EXPECT_NE(std::string::npos, file.find(name)) << name << "\n" << file;
    EXPECT_FALSE(CGroupsStore::Instance().KeepsChangesToStore());
}
