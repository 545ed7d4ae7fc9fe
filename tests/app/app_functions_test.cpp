// The application's free functions: the data folder and groups file, running a
// command line, and the walk of the registry editor's tree.
#include "app_test_app.h"
#include "fake_regedit.h"
#include "real_input.h"
#include "app/regedit_view.h"
#include "support/registry_sandbox.h"
#include "support/message_pump.h"
#include "support/wide_key_names.h"
#include <gtest/gtest.h>
#include <commctrl.h>
#include <atomic>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

using testsupport::RegistrySandbox;

namespace {

const char kShellFolders[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";

std::string TempFolder(const char* name)
{
    char temp[MAX_PATH] = {0};
    ::GetTempPathA(MAX_PATH, temp);
    char unique[32];
    wsprintfA(unique, "%s-%lu-%lu", name, ::GetCurrentProcessId(), ::GetTickCount());
    std::string path = std::string(temp) + unique;
    ::CreateDirectoryA(path.c_str(), NULL);
    return path;
}

std::string ExeFolder()
{
    char module[MAX_PATH] = {0};
    ::GetModuleFileNameA(NULL, module, MAX_PATH);
    std::string path(module);
    return path.substr(0, path.rfind('\\') + 1);
}

bool FileExists(const std::string& path) { return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

}  // namespace

TEST(DataFolder, TheSubfolderOfTheApplicationDataFolderHoldsTheGroupsFile)
{
    RegistrySandbox sandbox;
    std::string appData = TempFolder("appdata");
    ASSERT_TRUE(RegistrySandbox::SetString(sandbox.Root(), std::string("hkcu\\") + kShellFolders, "AppData", appData));
    ASSERT_TRUE(sandbox.Override(HKEY_CURRENT_USER, "hkcu"));

    // First run: the subfolder is made.
    EXPECT_EQ(appData + "\\Nimbo Purgelet\\", FindDataFolder());
    EXPECT_TRUE(FileExists(appData + "\\Nimbo Purgelet"));
    // It exists now: the same folder again.
    EXPECT_EQ(appData + "\\Nimbo Purgelet\\", FindDataFolder());

    // Kept for the process: the second answer is the first whatever happens later.
    std::string kept = GetDataFolder();
    ASSERT_FALSE(kept.empty());
    EXPECT_EQ('\\', kept.back());
    EXPECT_EQ(kept, GetDataFolder());
    EXPECT_EQ(kept + "Purgelet.xml", GetGroupsFilePath());

    ::RemoveDirectoryA((appData + "\\Nimbo Purgelet").c_str());
    ::RemoveDirectoryA(appData.c_str());
}

TEST(DataFolder, AFolderThatCannotBeMadeFallsBackToTheExecutablesFolder)
{
    RegistrySandbox sandbox;
    std::string base = TempFolder("appfile");
    // The application-data "folder" is a file: nothing can be made under it.
    std::string appData = base + "\\not-a-folder";
    HANDLE hFile = ::CreateFileA(appData.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
    ASSERT_NE(INVALID_HANDLE_VALUE, hFile);
    ::CloseHandle(hFile);
    ASSERT_TRUE(RegistrySandbox::SetString(sandbox.Root(), std::string("hkcu\\") + kShellFolders, "AppData", appData));
    ASSERT_TRUE(sandbox.Override(HKEY_CURRENT_USER, "hkcu"));

    EXPECT_EQ(ExeFolder(), FindDataFolder());

    ::DeleteFileA(appData.c_str());
    ::RemoveDirectoryA(base.c_str());
}

TEST(DataFolder, AnEmptyApplicationDataFolderFallsBackToTheExecutablesFolder)
{
    RegistrySandbox sandbox;
    ASSERT_TRUE(RegistrySandbox::SetString(sandbox.Root(), std::string("hkcu\\") + kShellFolders, "AppData", ""));
    ASSERT_TRUE(sandbox.Override(HKEY_CURRENT_USER, "hkcu"));
    EXPECT_EQ(ExeFolder(), FindDataFolder());
}

TEST(RunProgram, WaitsForTheProgramToEnd)
{
    std::string folder = TempFolder("run");
    std::string marker = folder + "\\ran.txt";
    std::string command = "cmd.exe /c echo ran> \"" + marker + "\"";
    TestApp().m_boxes.clear();

    RunProgram(command.c_str());

    // The file is there as soon as RunProgram returns: it waited for the process.
    EXPECT_TRUE(FileExists(marker));
    EXPECT_TRUE(TestApp().m_boxes.empty());
    ::DeleteFileA(marker.c_str());
    ::RemoveDirectoryA(folder.c_str());
}

// The box names the command line between quotes; when the file it names is not there
// (an uninstaller that removed itself on its first run), it adds that the entry may be
// stale and how to take it off the list. Any other failure says no more.
TEST(RunProgram, ACommandLineThatCannotStartIsReportedBetweenQuotes)
{
    const std::string folder = TempFolder("launch");
    const std::string notProgram = folder + "\\readme.exe";
    std::ofstream(notProgram.c_str(), std::ios::binary) << "no program in here";
    const std::string stale =
        "\r\n\r\nThe uninstaller is no longer there: the program may have been removed already, and its entry "
        "may be stale. Remove Entry takes the entry off the list; Refresh (F5) reads the list again.";
    const struct
    {
        const char* name;
        std::string command;
        bool bGone;
    } cases[] = {
        {"a folder that is not there", "Z:\\no\\such\\folder\\uninst.exe /S", true},
        {"a file that is not there", "\"" + folder + "\\Uninstall Me.exe\" /S", true},
        {"a file that is no program", "\"" + notProgram + "\"", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TestApp().m_boxes.clear();
        RunProgram(c.command.c_str());
        ASSERT_EQ(1u, TestApp().m_boxes.size());
        EXPECT_EQ("Couldn't launch the program \"" + c.command + "\"" + (c.bGone ? stale : ""),
                  TestApp().m_boxes[0].text);
        EXPECT_EQ((UINT)MB_OK, TestApp().m_boxes[0].type & 0xF);
    }
    TestApp().m_boxes.clear();
    ::DeleteFileA(notProgram.c_str());
    ::RemoveDirectoryA(folder.c_str());
}

// ---- the registry editor ----------------------------------------------------------------

TEST(ShowInRegEdit, AnOpenEditorIsReusedAndItsTreeWalkedFromTheRootByKeys)
{
    fakeregedit::FakeRegEdit editor;
    std::vector<fakeregedit::KeyRecord>& g_keys = fakeregedit::Keys();
    ASSERT_NE(nullptr, editor.m_hTree);
    // A key named outside the code page is typed by its own characters.
    const wchar_t* path = L"\\HKEY_CURRENT_USER\\Software\\a-\u0436b";
    const std::wstring expected = L"\\HKEY_CURRENT_USER\\SOFTWARE\\A-\u0416B";

    for (int run = 0; run < 2; ++run) {
        SCOPED_TRACE(run == 0 ? "first walk" : "second walk");
        g_keys.clear();
        // A selection left elsewhere by the previous walk or the user.
        ::SendMessageA(editor.m_hTree, TVM_SELECTITEM, TVGN_CARET, 0);
        TestApp().m_boxes.clear();

        ShowInRegEdit(path);

        EXPECT_TRUE(TestApp().m_boxes.empty());
        EXPECT_TRUE(::IsWindowVisible(editor.m_hFrame));
        EXPECT_NE(0u, (UINT)::SendMessageA(editor.m_hTree, TVM_GETITEMSTATE, (WPARAM)editor.m_hRoot, TVIS_EXPANDED) &
                          TVIS_EXPANDED);
        // One key per character: a backslash is the right arrow, the rest upper-case
        // characters; the walk starts at the root.
        ASSERT_EQ(expected.size(), g_keys.size());
        EXPECT_EQ(editor.m_hRoot, g_keys[0].caret);
        for (size_t i = 0; i < expected.size(); ++i) {
            SCOPED_TRACE(testing::Message() << "character " << i);
            if (expected[i] == '\\') {
                EXPECT_EQ((UINT)WM_KEYDOWN, g_keys[i].message);
                EXPECT_EQ((WPARAM)VK_RIGHT, g_keys[i].wParam);
            } else {
                EXPECT_EQ((UINT)WM_CHAR, g_keys[i].message);
                EXPECT_EQ((WPARAM)expected[i], g_keys[i].wParam);
            }
        }
    }
}

namespace {

// Closes every editor window and waits (bounded) until none is left.
bool CloseEditors()
{
    return realinput::SleepUntil(
        [] {
            HWND hEditor = FindRegEditWindow();
            if (hEditor != NULL) ::PostMessageA(hEditor, WM_CLOSE, 0, 0);
            return hEditor == NULL;
        },
        10000);
}

std::string FirstBox() { return TestApp().m_boxes.empty() ? std::string() : TestApp().m_boxes[0].text; }

}  // namespace

// An editor that the user closes right after its window came did open: nothing says it
// could not be launched.
TEST(ShowInRegEdit, AnEditorClosedRightAfterItsWindowCameIsNoFailure)
{
    if (FindRegEditWindow() != NULL) GTEST_SKIP() << "a registry editor is open already";
    TestApp().m_boxes.clear();
    std::atomic<bool> bClosed{false};
    std::thread user([&] {
        HWND hEditor = NULL;
        realinput::SleepUntil(
            [&] {
                return (hEditor = FindRegEditWindow()) != NULL && ::IsWindowVisible(hEditor) &&
                       FindRegEditReadyTree(hEditor) != NULL;
            },
            30000);
        if (hEditor == NULL) return;
        ::PostMessageA(hEditor, WM_CLOSE, 0, 0);
        bClosed = true;
    });
    ShowInRegEdit(L"\\HKEY_CURRENT_USER\\Software");
    user.join();
    EXPECT_TRUE(bClosed);
    EXPECT_TRUE(TestApp().m_boxes.empty()) << FirstBox();
    EXPECT_TRUE(CloseEditors());
    TestApp().m_boxes.clear();
}

namespace {

// The path of the key the editor shows selected, as its status bar gives it.
std::wstring ShownKey(HWND hEditor)
{
    HWND hStatus = FindRegEditStatusBar(hEditor);
    wchar_t text[1024] = L"";
    DWORD_PTR nCopied = 0;
    if (hStatus != NULL)
        ::SendMessageTimeoutW(hStatus, WM_GETTEXT, 1024, (LPARAM)text, SMTO_ABORTIFHUNG, 2000, &nCopied);
    return text;
}

}  // namespace

// Keys whose names read alike in the code page ("ZZE ?1"), one whose name begins with
// another's, and one beside them: the editor ends on each key named, by its exact name,
// whether it was just started or open already.
TEST(ShowInRegEdit, TheEditorEndsOnTheKeyOfTheExactNameGiven)
{
    if (FindRegEditWindow() != NULL) GTEST_SKIP() << "a registry editor is open already";
    // The sandbox's own key, not redirected: the editor runs in a process of its own.
    RegistrySandbox box;
    std::wstring parent;
    for (char c : box.Path()) parent += (wchar_t)(unsigned char)c;
    using namespace testsupport::widekeys;
    const wchar_t* names[] = {kZhe, kDe, kLiteral, L"ZZE \x0416" L"10", L"ZZEPlain"};
    for (const wchar_t* name : names)
        ASSERT_TRUE(RegistrySandbox::SetString(HKEY_CURRENT_USER, parent + L"\\" + name, "DisplayName", "x"));
    TestApp().m_boxes.clear();
    for (const wchar_t* name : {names[0], names[1], names[3], names[2], names[4], names[0]}) {
        const std::wstring path = L"\\HKEY_CURRENT_USER\\" + parent + L"\\" + name;
        ShowInRegEdit(path.c_str());
        HWND hEditor = FindRegEditWindow();
        ASSERT_TRUE(hEditor != NULL);
        // The status bar names the computer first.
        const std::wstring shown = ShownKey(hEditor);
        const std::wstring::size_type nSlash = shown.find(L'\\');
        EXPECT_TRUE(nSlash != std::wstring::npos && shown.substr(nSlash) == path)
            << testing::PrintToString(shown) << " for " << testing::PrintToString(path);
    }
    EXPECT_TRUE(TestApp().m_boxes.empty()) << FirstBox();
    EXPECT_TRUE(CloseEditors());
    TestApp().m_boxes.clear();
}
