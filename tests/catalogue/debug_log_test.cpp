// The debug log in the current directory: a fresh file for each run, appended after.
#include <gtest/gtest.h>
#include "catalogue/debug_log.h"
#include "catalogue_test_util.h"

namespace {

class DebugLogFile : public ::testing::Test {
protected:
    void SetUp() override {
        GetCurrentDirectoryA(MAX_PATH, previous);
        ASSERT_TRUE(SetCurrentDirectoryA(folder.Path().c_str()));
        DebugLogRestart();
    }
    void TearDown() override {
        DebugLogRestart();
        SetCurrentDirectoryA(previous);
    }
    std::string Log(bool* exists = nullptr) { return cattest::ReadWholeFile(folder.Path() + "~debug.log", exists); }

    char previous[MAX_PATH];
    cattest::TempFolder folder;
};

TEST_F(DebugLogFile, TheFirstLineOfARunReplacesTheOldFileLaterLinesAppend) {
    ASSERT_TRUE(cattest::WriteWholeFile(folder.Path() + "~debug.log", "from an earlier run\r\n"));
    DebugLog("node = %s\n", "First");
    EXPECT_EQ("node = First\r\n", Log());
    DebugLog("node = %s\n", "Second");
    DebugLog("%d-%u\n", -5, 7u);
    EXPECT_EQ("node = First\r\nnode = Second\r\n-5-7\r\n", Log());
}

TEST_F(DebugLogFile, ALogThatCannotBeCreatedIsSilentAndTriedAgain) {
    // A folder of the log's name stands in for a directory that cannot be written to.
    ASSERT_TRUE(CreateDirectoryA((folder.Path() + "~debug.log").c_str(), nullptr));
    DebugLog("lost %d\n", 1);
    ASSERT_TRUE(RemoveDirectoryA((folder.Path() + "~debug.log").c_str()));
    bool exists = true;
    Log(&exists);
    EXPECT_FALSE(exists);

    DebugLog("kept %d\n", 2);
    EXPECT_EQ("kept 2\r\n", Log());
}

}  // namespace
