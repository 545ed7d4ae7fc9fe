// The kept records in the program's key, at the registry's level: their order however the
// registry lists them, and what two copies do to the section when one forgets its records
// while the other keeps one (the platform's calls interleaved at the moments that matter).
#include "main_window_groups_fixture.h"
#include "app/groups_kept.h"
#include "support/import_patch.h"
#include <gtest/gtest.h>
#include <functional>
#include <string>
#include <vector>

using namespace mainwindowgroupstest;

namespace {

// What the section holds when records are kept: "Groups" is the mark an earlier build reads.
const std::string kMark("\x05\x00\x00\x80", 4);

// Changes of one group added here, named `name`.
KeptGroups Added(const char* name)
{
    KeptGroups kept;
    KeptGroupChange change;
    change.bHere = true;
    change.here.Name = name;
    kept.changes.push_back(change);
    return kept;
}

// The name of the one group a record adds, or what keeps it from being read.
std::string AddedIn(const std::string& record)
{
    KeptGroups kept;
    std::string why;
    if (ReadKeptGroupChanges(record, &kept, &why) != KeptRead::Read) return "unread: " + why;
    return kept.changes.size() == 1 ? kept.changes[0].here.Name : "changes: " + std::to_string(kept.changes.size());
}

// The platform's calls of the section as the program makes them, each replaced while a test
// has a step of its own run inside it.
decltype(&::RegEnumValueA) g_pEnumValue = NULL;
decltype(&::RegSetValueExA) g_pSetValue = NULL;
std::function<void()> g_atListEnd, g_atRecordWrite;
bool g_bReversed = false;

// The values listed last first when g_bReversed (the registry promises no order); the step
// g_atListEnd run once, when a listing ends.
LONG WINAPI EnumValue(HKEY hKey, DWORD i, LPSTR pName, LPDWORD pcchName, LPDWORD pReserved, LPDWORD pType,
                      LPBYTE pData, LPDWORD pcbData)
{
    DWORD nValues = 0;
    ::RegQueryInfoKeyA(hKey, NULL, NULL, NULL, NULL, NULL, NULL, &nValues, NULL, NULL, NULL, NULL);
    if (i >= nValues) {
        // What the step writes comes after this listing.
        std::function<void()> step;
        step.swap(g_atListEnd);
        if (step) step();
        return ERROR_NO_MORE_ITEMS;
    }
    if (g_bReversed) i = nValues - 1 - i;
    return g_pEnumValue(hKey, i, pName, pcchName, pReserved, pType, pData, pcbData);
}

// The step g_atRecordWrite run once, just before a record (not the mark) is written.
LONG WINAPI SetValue(HKEY hKey, LPCSTR pName, DWORD dwReserved, DWORD dwType, const BYTE* pData, DWORD cbData)
{
    if (g_atRecordWrite && pName != NULL && lstrcmpiA(pName, "Groups") != 0) {
        std::function<void()> step;
        step.swap(g_atRecordWrite);
        step();
    }
    return g_pSetValue(hKey, pName, dwReserved, dwType, pData, cbData);
}

class GroupsKeptRecordsTest : public MainWindowGroupsFileTest
{
protected:
    void SetUp() override
    {
        MainWindowGroupsFileTest::SetUp();
        UseProgramKey();
        g_pEnumValue = (decltype(g_pEnumValue))testsupport::PatchImport("advapi32.dll", "RegEnumValueA",
                                                                         (void*)&EnumValue);
        g_pSetValue = (decltype(g_pSetValue))testsupport::PatchImport("advapi32.dll", "RegSetValueExA",
                                                                       (void*)&SetValue);
        ASSERT_TRUE(g_pEnumValue != NULL && g_pSetValue != NULL);
    }
    void TearDown() override
    {
        g_atListEnd = nullptr;
        g_atRecordWrite = nullptr;
        g_bReversed = false;
        if (g_pEnumValue != NULL) testsupport::PatchImport("advapi32.dll", "RegEnumValueA", (void*)g_pEnumValue);
        if (g_pSetValue != NULL) testsupport::PatchImport("advapi32.dll", "RegSetValueExA", (void*)g_pSetValue);
        RegistrySandbox::DeleteTree(HKEY_CURRENT_USER, kKeptChangesKey);
        MainWindowGroupsFileTest::TearDown();
    }
};

// Records in the order kept, given out of order: to the order itself, and as the registry's
// listing (last first). The process ids are of no process, so every record taken is any
// copy's.
TEST_F(GroupsKeptRecordsTest, RecordsComeInTheOrderKeptHoweverTheyAreListed)
{
    const struct
    {
        const char* what;
        std::vector<std::string> given;
        std::vector<std::string> kept;  // in the order kept
    } cases[] = {
        {"one half of the time",
         {"Groups 01DA000000000300 0000FFF0", "Groups 01DA000000000100 0000FFF0", "Groups 01DA000000000200 0000FFE0"},
         {"Groups 01DA000000000100 0000FFF0", "Groups 01DA000000000200 0000FFE0", "Groups 01DA000000000300 0000FFF0"}},
        // More than seven minutes apart: the later has the larger high half and the smaller low one.
        {"across a change of the time's high half",
         {"Groups 01DA000100000010 0000FFF0", "Groups 01DA0000FFFFFFF0 0000FFF0"},
         {"Groups 01DA0000FFFFFFF0 0000FFF0", "Groups 01DA000100000010 0000FFF0"}},
        // A record taken to store: one more than the time of the one it was taken from.
        {"taken records and an earlier layout's value",
         {"Groups 01DA000100000000 0000FFF0", "Groups 01DA000000000201 0000FFE0 01DA000000000001", "Groups",
          "Groups 01DA000000000100 0000FFF0", "Groups 01DA000000000200 0000FFD0"},
         {"Groups", "Groups 01DA000000000100 0000FFF0", "Groups 01DA000000000200 0000FFD0",
          "Groups 01DA000000000201 0000FFE0 01DA000000000001", "Groups 01DA000100000000 0000FFF0"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<std::string> names = c.given;
        SortKeptRecordNames(names);
        EXPECT_EQ(c.kept, names);
        RegistrySandbox::DeleteTree(HKEY_CURRENT_USER, kKeptChangesKey);
        // The earlier layout's value holds its changes, not the mark.
        for (const std::string& name : c.given)
            RegistrySandbox::SetBinary(HKEY_CURRENT_USER, kKeptChangesKey, name.c_str(), "x", 1);
        g_bReversed = true;
        EXPECT_EQ(c.kept, KeptRecordNames());
        g_bReversed = false;
    }
    // A record kept now is named with the time now, its high half first.
    FILETIME before = {}, after = {};
    std::string name;
    ::GetSystemTimeAsFileTime(&before);
    ASSERT_TRUE(KeepGroupChanges(Added("g"), &name));
    ::GetSystemTimeAsFileTime(&after);
    ASSERT_EQ(32u, name.size());
    const unsigned long long nTime = std::stoull(name.substr(7, 16), NULL, 16);
    EXPECT_LE(((unsigned long long)before.dwHighDateTime << 32 | before.dwLowDateTime), nTime) << name;
    EXPECT_GE(((unsigned long long)after.dwHighDateTime << 32 | after.dwLowDateTime), nTime) << name;
}

// Copy A forgets its last record (its changes reached the file) while copy B keeps one: at
// each moment B's record may come, it stays, with the mark an earlier build reads; once B's
// record is forgotten too the section keeps nothing (the key itself may stay).
TEST_F(GroupsKeptRecordsTest, ARecordKeptWhileAnotherCopyForgetsItsLastStays)
{
    const struct
    {
        const char* what;
        char when;  // 'l' once A's listing found no record left, 'w' as B writes its record
    } cases[] = {
        {"B keeps its record once A found none left", 'l'},
        {"A forgets its record between B's mark and B's record", 'w'},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        RegistrySandbox::DeleteTree(HKEY_CURRENT_USER, kKeptChangesKey);
        std::string a, b;
        ASSERT_TRUE(KeepGroupChanges(Added("a"), &a));
        const auto forgetA = [&] { ForgetKeptRecords({a}); };
        const auto keepB = [&] { EXPECT_TRUE(KeepGroupChanges(Added("b"), &b)); };
        if (c.when == 'l') {
            g_atListEnd = keepB;
            forgetA();
        } else {
            g_atRecordWrite = forgetA;
            keepB();
        }
        EXPECT_FALSE(g_atListEnd || g_atRecordWrite) << "the step did not come";
        ASSERT_FALSE(b.empty());
        EXPECT_EQ(std::vector<std::string>{b}, KeptRecordNames());
        EXPECT_EQ("b", AddedIn(b));
        const auto values = mainwindowtest::StoredValues(kKeptChangesKey);
        EXPECT_EQ(2u, values.size());
        EXPECT_EQ("3:" + kMark, values.count("Groups") ? values.at("Groups") : "none") << "the mark";
        ForgetKeptRecords({b});
        EXPECT_FALSE(KeptChangesThere());
    }
}

}  // namespace
