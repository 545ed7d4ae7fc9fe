// The application's free functions: the data folder and groups file, running a
// command line, and the walk of the registry editor's tree.
#include "app_test_app.h"
#include "support/registry_sandbox.h"
#include "support/message_pump.h"
#include <gtest/gtest.h>
#include <commctrl.h>
#include <string>
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

TEST(RunProgram, ACommandLineThatCannotStartIsReportedBetweenQuotes)
{
    TestApp().m_boxes.clear();
    RunProgram("Z:\\no\\such\\folder\\uninst.exe /S");
    ASSERT_EQ(1u, TestApp().m_boxes.size());
    EXPECT_EQ("Couldn't launch the program \"Z:\\no\\such\\folder\\uninst.exe /S\"", TestApp().m_boxes[0].text);
    EXPECT_EQ((UINT)MB_OK, TestApp().m_boxes[0].type & 0xF);
    TestApp().m_boxes.clear();
}

// ---- the registry editor ----------------------------------------------------------------

namespace {

struct KeyRecord
{
    UINT message;
    WPARAM wParam;
    HTREEITEM caret;  // the selection when the key arrived
};

std::vector<KeyRecord> g_keys;
WNDPROC g_pfnTreeProc = NULL;

LRESULT CALLBACK RecordingTreeProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_KEYDOWN || message == WM_CHAR)
        g_keys.push_back({message, wParam, (HTREEITEM)::SendMessageW(hWnd, TVM_GETNEXTITEM, TVGN_CARET, 0)});
    return ::CallWindowProcW(g_pfnTreeProc, hWnd, message, wParam, lParam);
}

HTREEITEM AddItem(HWND hTree, HTREEITEM hParent, const char* text)
{
    TVINSERTSTRUCTA tvi = {};
    tvi.hParent = hParent;
    tvi.hInsertAfter = TVI_LAST;
    tvi.item.mask = TVIF_TEXT;
    tvi.item.pszText = const_cast<char*>(text);
    return (HTREEITEM)::SendMessageA(hTree, TVM_INSERTITEMA, 0, (LPARAM)&tvi);
}

// A stand-in for the registry editor's window: its frame class and its key tree.
class FakeRegEdit
{
public:
    FakeRegEdit()
    {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = ::DefWindowProcA;
        wc.hInstance = ::GetModuleHandleA(NULL);
        wc.lpszClassName = "RegEdit_RegEdit";
        ::RegisterClassA(&wc);
        m_hFrame = ::CreateWindowExA(0, "RegEdit_RegEdit", "Registry Editor", WS_OVERLAPPEDWINDOW, 0, 0, 300, 300,
                                     NULL, NULL, wc.hInstance, NULL);
        m_hTree = ::CreateWindowExA(0, WC_TREEVIEWA, "", WS_CHILD | WS_VISIBLE | TVS_HASBUTTONS, 0, 0, 280, 260,
                                    m_hFrame, NULL, wc.hInstance, NULL);
        m_hRoot = AddItem(m_hTree, TVI_ROOT, "My Computer");
        HTREEITEM hHkcu = AddItem(m_hTree, m_hRoot, "HKEY_CURRENT_USER");
        AddItem(m_hTree, m_hRoot, "HKEY_LOCAL_MACHINE");
        AddItem(m_hTree, hHkcu, "Software");
        g_keys.clear();
        // A wide procedure: it sees the characters as they are, not their ANSI form.
        g_pfnTreeProc = (WNDPROC)::SetWindowLongPtrW(m_hTree, GWLP_WNDPROC, (LONG_PTR)RecordingTreeProc);
    }
    ~FakeRegEdit()
    {
        ::SetWindowLongPtrW(m_hTree, GWLP_WNDPROC, (LONG_PTR)g_pfnTreeProc);
        ::DestroyWindow(m_hFrame);
        ::UnregisterClassA("RegEdit_RegEdit", ::GetModuleHandleA(NULL));
    }
    HWND m_hFrame, m_hTree;
    HTREEITEM m_hRoot;
};

}  // namespace

TEST(ShowInRegEdit, AnOpenEditorIsReusedAndItsTreeWalkedFromTheRootByKeys)
{
    FakeRegEdit editor;
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
