// Changes the groups file cannot take when the program ends (another program holds it, or
// it is read-only), kept in the program's key and stored at the next start: through the
// real window, the other program a holder process and the end a log-off as the system sends
// it or a plain exit, then the next start in the same test. What comes back lands where the
// running program's merge would have put it, and only what the file does not hold is kept.
#include "held_file.h"
#include "main_window_groups_fixture.h"
#include "app/groups_kept.h"
#include "app/groups_store.h"
#include "support/import_patch.h"
#include <gtest/gtest.h>
#include <algorithm>
#include <atomic>
#include <map>
#include <set>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

using namespace mainwindowgroupstest;

namespace {

// One change made through the window: 'k' a keyword "bkw" added to the group, 'r' the
// group renamed "renamed", 'd' the group deleted, 'n' a new group "games" (g2).
void ChangeGroup(CPurgeletDlg& dlg, char change, const char* group)
{
    CPageUninstallGroupEditor& editor = dlg.m_pageUninstall.m_pageEditor;
    if (change == 'd') {
        ClickGroup(dlg, group);
        DeleteAnswered(dlg, IDYES);
        return;
    }
    if (change == 'n') {
        mainwindowgroupstest::NewGroup(dlg);
        TypeInto(editor.m_wndName, "games");
        TypeInto(editor.m_wndKeywords, "g2");
    } else {
        OpenInEditor(dlg, group);
        if (change == 'r') {
            EmptyField(editor.m_wndName);
            TypeInto(editor.m_wndName, "renamed");
        } else {
            TypeInto(editor.m_wndKeywords, "bkw");
        }
    }
    ClickIn(editor.m_wndApply.m_hWnd);
    EXPECT_TRUE(PumpUntil([&] { return !EditorOpen(dlg); }));
}

// The system's log-off, sent from another thread once the main window exists, once it shows
// or once *pbNow is set: WM_QUERYENDSESSION to each of the program's top-level windows (no
// answer in time is a refusal), then WM_ENDSESSION with the verdict. The question is given
// less time than one wait for a held file (1.5 s): a window that waits before it answers
// refuses. Made on the window's thread, it counts that thread's waits that leave sent
// messages unanswered while it asks, and the session's messages the main window took
// before it was set up.
class SystemLogOff
{
public:
    SystemLogOff(bool bShown, const std::atomic<bool>* pbNow = NULL)
    {
        s_dwWindowThread = ::GetCurrentThreadId();
        s_nDeafWaits = 0;
        s_nBeforeSetUp = 0;
        m_hCalls = ::SetWindowsHookExA(WH_CALLWNDPROC, NoteSessionMessage, NULL, s_dwWindowThread);
        s_pSleep = (decltype(s_pSleep))testsupport::PatchImport("kernel32.dll", "Sleep", (void*)&CountedSleep);
        s_pMsgWait = (decltype(s_pMsgWait))testsupport::PatchImport("user32.dll", "MsgWaitForMultipleObjects",
                                                                    (void*)&CountedMsgWait);
        m_thread = std::thread([this, bShown, pbNow] { Run(bShown, pbNow); });
    }
    ~SystemLogOff()
    {
        m_thread.join();
        ::UnhookWindowsHookEx(m_hCalls);
        testsupport::PatchImport("kernel32.dll", "Sleep", (void*)s_pSleep);
        testsupport::PatchImport("user32.dll", "MsgWaitForMultipleObjects", (void*)s_pMsgWait);
    }
    bool Done() const { return m_bDone; }
    std::vector<LRESULT> m_answers;  // each window's (0: a refusal, or none in time)
    static inline std::atomic<int> s_nDeafWaits{0};
    // How many of the session's messages reached the main window before it was set up.
    static inline std::atomic<int> s_nBeforeSetUp{0};

private:
    static LRESULT CALLBACK NoteSessionMessage(int nCode, WPARAM wParam, LPARAM lParam)
    {
        const CWPSTRUCT* p = (const CWPSTRUCT*)lParam;
        if (nCode == HC_ACTION && (p->message == WM_QUERYENDSESSION || p->message == WM_ENDSESSION)) {
            const CPurgeletDlg* pDlg = dynamic_cast<CPurgeletDlg*>(CWnd::FromHandlePermanent(p->hwnd));
            if (pDlg != NULL && !pDlg->m_bInitialised) ++s_nBeforeSetUp;
        }
        return ::CallNextHookEx(NULL, nCode, wParam, lParam);
    }
    static bool Asked() { return s_bAsking && ::GetCurrentThreadId() == s_dwWindowThread; }
    static void WINAPI CountedSleep(DWORD dwMs)
    {
        if (Asked()) ++s_nDeafWaits;
        s_pSleep(dwMs);
    }
    static DWORD WINAPI CountedMsgWait(DWORD nCount, const HANDLE* pHandles, BOOL bAll, DWORD dwMs, DWORD dwWake)
    {
        if (Asked() && (dwWake & QS_SENDMESSAGE) == 0) ++s_nDeafWaits;
        return s_pMsgWait(nCount, pHandles, bAll, dwMs, dwWake);
    }
    void Run(bool bShown, const std::atomic<bool>* pbNow)
    {
        for (DWORD dwStart = ::GetTickCount(); ::GetTickCount() - dwStart < 20000; s_pSleep(1)) {
            HWND hMain = ::FindWindowA("#32770", "Nimbo Purgelet 1.1");
            if (pbNow != NULL ? pbNow->load() : hMain != NULL && (!bShown || ::IsWindowVisible(hMain))) break;
        }
        std::vector<HWND> windows;
        for (HWND hWnd = ::GetTopWindow(NULL); hWnd != NULL; hWnd = ::GetWindow(hWnd, GW_HWNDNEXT)) {
            DWORD dwProcess = 0;
            ::GetWindowThreadProcessId(hWnd, &dwProcess);
            if (dwProcess == ::GetCurrentProcessId()) windows.push_back(hWnd);
        }
        s_bAsking = true;
        // Whether the window's thread waited deaf meanwhile is counted above; how soon a busy
        // machine runs that thread is no answer, so the question waits as long as a log-off
        // lets a program hold it up before it asks the user.
        for (HWND hWnd : windows) {
            DWORD_PTR nAnswer = 0;
            if (!::SendMessageTimeoutA(hWnd, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, SMTO_NORMAL, 10000, &nAnswer))
                nAnswer = 0;
            m_answers.push_back((LRESULT)nAnswer);
        }
        s_bAsking = false;
        const bool bEnds = std::count(m_answers.begin(), m_answers.end(), 0) == 0;
        for (HWND hWnd : windows)
            ::SendMessageTimeoutA(hWnd, WM_ENDSESSION, bEnds, ENDSESSION_LOGOFF, SMTO_NORMAL, 10000, NULL);
        m_bDone = true;
    }
    static inline DWORD s_dwWindowThread = 0;
    static inline std::atomic<bool> s_bAsking{false};
    static inline void(WINAPI* s_pSleep)(DWORD) = NULL;
    static inline DWORD(WINAPI* s_pMsgWait)(DWORD, const HANDLE*, BOOL, DWORD, DWORD) = NULL;
    std::atomic<bool> m_bDone{false};
    HHOOK m_hCalls = NULL;
    std::thread m_thread;
};

BOOL(WINAPI* g_pSetFileInfo)(HANDLE, FILE_INFO_BY_HANDLE_CLASS, LPVOID, DWORD) = NULL;
std::atomic<bool> g_bRenameRefused{false};

// Another program reading the file, sharing reads, keeps it from being renamed and replaced.
BOOL WINAPI RenameRefused(HANDLE hFile, FILE_INFO_BY_HANDLE_CLASS kind, LPVOID pInfo, DWORD dwSize)
{
    if (kind != FileRenameInfo) return g_pSetFileInfo(hFile, kind, pInfo, dwSize);
    g_bRenameRefused = true;
    ::SetLastError(ERROR_SHARING_VIOLATION);
    return FALSE;
}

}  // namespace

// A change the file could not take (held, then a log-off; read-only, then a plain exit) comes
// back at the next start through the merge the running program would have made with the
// file as it is then: a group the file gave no Id is found by its name and keywords, never
// as the group whose Id the start would give it; the file's own groups are the file's, so a
// new group of one's name stays a group of its own, and a group another program deleted
// takes no change meant for another group alike. The exit says the changes are kept.
TEST_F(MainWindowGroupsFileTest, AChangeKeptAtAnEndComesBackThroughTheMergeOfTheRunThatKeptIt)
{
    const auto file = GroupsFileOf;
    const auto group = GroupElement;
    const std::string a = group("Id=\"2\" Name=\"A\"", {"zze", "alpha"});
    const std::string b = group("Name=\"B\"", {"beta"}), b4 = group("Name=\"B\" Id=\"4\"", {"beta"});
    const std::string games = group("Id=\"3\" Name=\"games\"", {"gamma"});
    const std::string newGames = group("Id=\"5\" Name=\"games\"", {"g2"});
    const std::string tools = group("Id=\"2\" Name=\"Tools\"", {"corpus"});
    const std::string media4 = group("Id=\"4\" Name=\"Media\"", {"player"});
    const std::string games5 = group("Id=\"5\" Name=\"games\"", {"gamma"});
    const std::string x = group("Id=\"4\" Name=\"X\"", {"x"});
    // This run gives B the Id 4, past the file's; the other program's X takes it meanwhile.
    const std::string abg = file(a + b + games);
    const std::string twoMedia = file(tools + group("Id=\"3\" Name=\"Media\"", {"player"}) + media4);
    // The file as another program leaves it after giving the Ids up to 9 and deleting those groups again.
    const auto givenTo9 = [&](const std::string& groups) {
        return file(groups).replace(file(groups).find("<Purgelet>"), 10, "<Purgelet LastId=\"9\">");
    };
    const struct
    {
        const char* what;
        std::string first;
        char change;
        const char* group;
        bool bHeld;         // held, then a log-off; else read-only, then a plain exit
        std::string between;  // the file as another program leaves it for the next start; "": none
        bool bHeldAtNext;   // held at the next start, and read once free
        std::string after;
        std::string during;  // the file as another program leaves it before the change; "": as it was
    } cases[] = {
        {"a keyword added to a group the file gave no Id", abg, 'k', "B", true, abg, false,
         file(a + group("Name=\"B\" Id=\"4\"", {"beta", "bkw"}) + games)},
        {"the same, its Id given meanwhile", abg, 'k', "B", false, file(a + b + games + x), false,
         file(a + group("Name=\"B\" Id=\"5\"", {"beta", "bkw"}) + games + x)},
        {"the same, held at the next start", abg, 'k', "B", true, file(a + b + games + x), true,
         file(a + group("Name=\"B\" Id=\"5\"", {"beta", "bkw"}) + games + x)},
        {"the same, the Ids up to 9 given and deleted meanwhile", abg, 'k', "B", true, givenTo9(a + b + games), true,
         givenTo9(a + group("Name=\"B\" Id=\"10\"", {"beta", "bkw"}) + games)},
        {"a group the file gave no Id renamed", abg, 'r', "B", false, abg, false,
         file(a + group("Name=\"renamed\" Id=\"4\"", {"beta"}) + games)},
        {"a group the file gave no Id deleted", abg, 'd', "B", true, abg, false, file(a + games)},
        {"a keyword added to a group of the file's Id", abg, 'k', "A", false, abg, false,
         file(group("Id=\"2\" Name=\"A\"", {"zze", "alpha", "bkw"}) + b4 + games)},
        {"a new group of the name of one of the file's", abg, 'n', NULL, true, abg, false,
         file(a + b4 + games + newGames)},
        {"a rename of a group another program deleted, beside one like it", twoMedia, 'r', "Media", true,
         file(tools + media4), false, file(tools + media4 + group("Id=\"3\" Name=\"renamed\"", {"player"}))},
        {"a delete of a group another program deleted too, beside one like it", twoMedia, 'd', "Media", false,
         file(tools + media4), false, file(tools + media4)},
        {"the file gone at the next start", abg, 'n', NULL, true, "", false,
         file(a + group("Id=\"4\" Name=\"B\"", {"beta"}) + games + newGames)},
        // The running program's merge keeps the group under its own Id: so does the next start.
        {"a keyword added to a group another program deleted meanwhile", file(a + media4 + games5), 'k', "Media",
         false, file(a + games5), false, file(a + games5 + group("Id=\"4\" Name=\"Media\"", {"player", "bkw"})),
         file(a + games5)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        WriteGroups(c.first);
        TestApp().m_boxes.clear();
        ClearGroups();
        RegistrySandbox::DeleteTree(HKEY_CURRENT_USER, kKeptChangesKey);  // what a case before kept
        HeldFile held(m_groupsFile, HeldFile::SharingNothing);
        EXPECT_TRUE(Run([&](CPurgeletDlg& dlg) {
            ::SetForegroundWindow(dlg.m_hWnd);
            ASSERT_TRUE(PumpUntil([&] { return TreeGroups(dlg).size() == 3; }));
            if (!c.during.empty()) WriteGroups(c.during);
            ASSERT_TRUE(c.bHeld ? held.Hold() : ::SetFileAttributesA(m_groupsFile.c_str(), FILE_ATTRIBUTE_READONLY));
            ChangeGroup(dlg, c.change, c.group);
            ASSERT_EQ(1u, Boxes(1).size()) << "not saved";
            if (c.bHeld) EndSession(dlg, true);
        }));
        if (!c.bHeld) {
            ASSERT_EQ(2u, TestApp().m_boxes.size());
            EXPECT_EQ(NotSaved("cannot be written: the file is read-only.\r\n\r\nThe latest changes to the groups are "
                               "not stored in it. They are kept, and stored in it at the next start."),
                      TestApp().m_boxes[1].text);
        }
        held.Release();
        ASSERT_TRUE(held.Join());
        ::SetFileAttributesA(m_groupsFile.c_str(), FILE_ATTRIBUTE_NORMAL);
        EXPECT_EQ(c.during.empty() ? c.first : c.during, GroupsFile());
        if (c.between.empty())
            ::DeleteFileA(m_groupsFile.c_str());
        else
            WriteGroups(c.between);
        HeldFile heldAtNext(m_groupsFile, HeldFile::SharingNothing);
        if (c.bHeldAtNext) {
            ASSERT_TRUE(heldAtNext.Hold());
        }

        TestApp().m_boxes.clear();
        ClearGroups();
        EXPECT_TRUE(Run([&](CPurgeletDlg&) {
            if (c.bHeldAtNext) {
                ASSERT_EQ(1u, Boxes(1).size()) << "the file is in use";
                TestApp().m_boxes.clear();
                heldAtNext.Release();
                ASSERT_TRUE(heldAtNext.Join());
            }
            ASSERT_EQ(1u, Boxes(1).size());
            EXPECT_EQ(FileLines() + kNowHolds, TestApp().m_boxes[0].text);
            // Stored once the window showed its list, not before (a file held at the start is
            // stored when it frees, later still).
            if (!c.bHeldAtNext) EXPECT_TRUE(TestApp().m_boxes[0].bMainWindowDrawn);
        }));
        EXPECT_EQ(1u, TestApp().m_boxes.size());
        ExpectFileNodes(c.after);
        EXPECT_FALSE(KeptChangesThere());
    }
}

// A keyword kept at an exit for a group that another program then renames beyond the code
// page: the next start's merge drops it, as the running program's would, and its box says
// so, never that the file now holds the changes (it holds none of them).
TEST_F(MainWindowGroupsFileTest, AKeptChangeTheStartsMergeDropsIsNotSaidToBeStored)
{
    const std::string unshown = GroupsFileOf(GroupElement("Id=\"2\" Name=\"Tools\"", {"corpus"}) +
                                             GroupElement("Id=\"3\" Name=\"\xD0\x96\xD0\xB6\"", {"player"}));
    WriteGroups(kTwoGroups);
    ClearGroups();
    EXPECT_TRUE(Run([&](CPurgeletDlg& dlg) {
        ::SetForegroundWindow(dlg.m_hWnd);
        ASSERT_TRUE(PumpUntil([&] { return TreeGroups(dlg).size() == 2; }));
        ASSERT_TRUE(::SetFileAttributesA(m_groupsFile.c_str(), FILE_ATTRIBUTE_READONLY));
        ChangeGroup(dlg, 'k', "Media");
        ASSERT_EQ(1u, Boxes(1).size()) << "not saved";
    }));
    ASSERT_TRUE(KeptChangesThere());
    ::SetFileAttributesA(m_groupsFile.c_str(), FILE_ATTRIBUTE_NORMAL);
    WriteGroups(unshown);
    TestApp().m_boxes.clear();
    ClearGroups();
    EXPECT_TRUE(Run([&](CPurgeletDlg&) { ASSERT_EQ(1u, Boxes(1).size()); }));
    ASSERT_EQ(1u, TestApp().m_boxes.size());
    const std::string& box = TestApp().m_boxes[0].text;
    const std::string dropped = "The changes made here to the group \"Media\" are not stored: another program "
                                "changed it meanwhile, and it is no longer among the groups shown here.";
    EXPECT_EQ(box.size() - dropped.size(), box.rfind(dropped)) << box;
    ExpectFileNodes(unshown);
    EXPECT_FALSE(KeptChangesThere());
}

// A group made while another program holds the file is kept at a log-off; the next start,
// the file still held, shows it, and the user deletes it again: nothing is kept any more.
// The file freed later in that run, or only at the start after, is read and nothing is
// stored or said of the changes kept (the file holds what the user has).
TEST_F(MainWindowGroupsFileTest, AKeptChangeUndoneWhileTheFileIsStillHeldIsNoLongerKept)
{
    for (const bool bFreedInThatRun : {false, true}) {
        SCOPED_TRACE(bFreedInThatRun ? "freed in that run" : "freed after it");
        WriteGroups(kTwoGroups);
        TestApp().m_boxes.clear();
        ClearGroups();
        HeldFile held(m_groupsFile, HeldFile::SharingNothing);
        ASSERT_TRUE(held.Hold());
        EXPECT_TRUE(Run([&](CPurgeletDlg& dlg) {
            ::SetForegroundWindow(dlg.m_hWnd);
            ASSERT_EQ(1u, Boxes(1).size()) << "the file is in use";
            NewGroup(dlg, "cartoons", "tom");
            ASSERT_EQ(2u, Boxes(2).size()) << "not saved";
            EndSession(dlg, true);
        }));
        EXPECT_TRUE(KeptChangesThere());
        TestApp().m_boxes.clear();
        ClearGroups();
        EXPECT_TRUE(Run([&](CPurgeletDlg& dlg) {
            ::SetForegroundWindow(dlg.m_hWnd);
            ASSERT_EQ(1u, Boxes(1).size()) << "the file is in use";
            ASSERT_TRUE(PumpUntil([&] { return TreeGroups(dlg) == std::vector<std::string>{"cartoons"}; }));
            ClickGroup(dlg, "cartoons");
            DeleteAnswered(dlg, IDYES);
            EXPECT_TRUE(PumpUntil([&] { return TreeGroups(dlg).empty(); }));
            if (!bFreedInThatRun) return;
            held.Release();
            ASSERT_TRUE(held.Join());
            EXPECT_TRUE(PumpUntil([&] { return !CGroupsStore::Instance().WaitsForHeldFile(); }));
            EXPECT_EQ((std::vector<std::string>{"Tools", "Media"}), TreeGroups(dlg));
        }));
        EXPECT_EQ(1u, TestApp().m_boxes.size());
        EXPECT_FALSE(KeptChangesThere());
        held.Release();
        ASSERT_TRUE(held.Join());
        TestApp().m_boxes.clear();
        ClearGroups();
        EXPECT_TRUE(Run([&](CPurgeletDlg& dlg) {
            EXPECT_TRUE(PumpUntil([&] { return TreeGroups(dlg) == std::vector<std::string>{"Tools", "Media"}; }));
        }));
        EXPECT_TRUE(TestApp().m_boxes.empty());
        EXPECT_EQ(kTwoGroups, GroupsFile());
    }
}

// The registry takes no section below the program's key (a volatile key keeps none that
// lasts): the exit after a change the file refused says the changes are not kept.
TEST_F(MainWindowGroupsFileTest, AnExitWhoseChangesTheRegistryRefusesSaysTheyAreNotKept)
{
    WriteGroups(kTwoGroups);
    RegistrySandbox::DeleteTree(HKEY_CURRENT_USER, "Software\\Corvalin\\Nimbo Purgelet");
    HKEY hMaker = NULL, hProgram = NULL;
    ASSERT_EQ(ERROR_SUCCESS, ::RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Corvalin", 0, NULL, 0, KEY_ALL_ACCESS,
                                               NULL, &hMaker, NULL));
    ASSERT_EQ(ERROR_SUCCESS, ::RegCreateKeyExA(hMaker, "Nimbo Purgelet", 0, NULL, REG_OPTION_VOLATILE, KEY_ALL_ACCESS,
                                               NULL, &hProgram, NULL));
    ::RegCloseKey(hProgram);
    ::RegCloseKey(hMaker);
    EXPECT_TRUE(Run([&](CPurgeletDlg& dlg) {
        ::SetForegroundWindow(dlg.m_hWnd);
        ASSERT_TRUE(PumpUntil([&] { return TreeGroups(dlg) == std::vector<std::string>{"Tools", "Media"}; }));
        ASSERT_TRUE(::SetFileAttributesA(m_groupsFile.c_str(), FILE_ATTRIBUTE_READONLY));
        ClickGroup(dlg, "Media");
        DeleteAnswered(dlg, IDYES);
        ASSERT_EQ(1u, Boxes(1).size()) << "not saved";
    }));
    ASSERT_EQ(2u, TestApp().m_boxes.size());
    EXPECT_EQ(NotSaved("cannot be written: the file is read-only.\r\n\r\nThe latest changes to the groups are not "
                       "stored in it. They could not be kept for the next start either: the registry refused them."),
              TestApp().m_boxes[1].text);
    EXPECT_FALSE(KeptChangesThere());
    EXPECT_EQ(kTwoGroups, GroupsFile());
}

// The kept values in the order of their names (a start takes a record under a name of its
// own, in the same place in the order), each record's base kept apart in the place of its
// name (a record written again keeps its base under a new name).
std::vector<std::string> KeptValues()
{
    std::vector<std::string> values;
    auto bases = mainwindowtest::StoredValues((std::string(kKeptChangesKey) + "\\Bases").c_str());
    for (auto value : mainwindowtest::StoredValues(kKeptChangesKey)) {
        std::string& bytes = value.second;
        const size_t nName = bytes.size() >= 10 ? (unsigned char)bytes[6] : 0;
        if (bytes.compare(0, 6, std::string("3:\x06\0\0\x80", 6)) == 0 && nName > 0 && bytes.size() >= 10 + nName)
            bytes.replace(10, nName, bases[bytes.substr(10, nName)]);
        values.push_back(bytes);
    }
    return values;
}

// A log-off as a run starts while a change the last run kept waits for a file another program
// holds: every window answers yes at once, and the end keeps the change for the next start.
// One that comes while the start waits for the file finds nothing of the run to store: the
// kept change stays as it was stored, byte for byte (under the name the start took it by).
TEST_F(MainWindowGroupsFileTest, ALogOffAsTheRunStartsIsAnsweredYesAtOnceAndKeepsEverything)
{
    std::string deleted = GroupsFileOf(GroupElement("Id=\"2\" Name=\"Tools\"", {"corpus"}));
    deleted.replace(deleted.find("<Purgelet>"), 10, "<Purgelet LastId=\"3\">");
    const struct
    {
        const char* what;
        bool bShown;
        bool bReadable;  // kept from being replaced only, else from being read too
    } cases[] = {
        {"while the start waits for the file, before the window shows", false, false},
        {"as the window shows", true, false},
        {"while the store of the kept changes waits for the file", true, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        // A change the file refused at the last exit waits in the program's key.
        WriteGroups(kTwoGroups);
        ClearGroups();
        RegistrySandbox::DeleteTree(HKEY_CURRENT_USER, kKeptChangesKey);
        EXPECT_TRUE(Run([&](CPurgeletDlg& dlg) {
            ::SetForegroundWindow(dlg.m_hWnd);
            ASSERT_TRUE(PumpUntil([&] { return TreeGroups(dlg).size() == 2; }));
            ASSERT_TRUE(::SetFileAttributesA(m_groupsFile.c_str(), FILE_ATTRIBUTE_READONLY));
            ChangeGroup(dlg, 'd', "Media");
        }));
        ::SetFileAttributesA(m_groupsFile.c_str(), FILE_ATTRIBUTE_NORMAL);
        ASSERT_TRUE(KeptChangesThere());

        HeldFile held(m_groupsFile, HeldFile::SharingNothing);
        g_bRenameRefused = false;
        ASSERT_TRUE(c.bReadable ? (g_pSetFileInfo = (decltype(g_pSetFileInfo))testsupport::PatchImport(
                                       "kernel32.dll", "SetFileInformationByHandle", (void*)&RenameRefused)) != NULL
                                : held.Hold());
        ClearGroups();
        const auto kept = KeptValues();
        {
            SystemLogOff logOff(c.bShown, c.bReadable ? &g_bRenameRefused : NULL);
            EXPECT_TRUE(Run([&](CPurgeletDlg&) {
                EXPECT_TRUE(PumpUntil([&] { return logOff.Done(); }, 30000));
                if (c.bShown) return;
                if (SystemLogOff::s_nBeforeSetUp == 2)
                    EXPECT_EQ(kept, KeptValues());
                else
                    std::printf("[   NOTE   ] the log-off came after the start's wait for the file (the machine is "
                                "busy): whether it left the kept change alone is not checked\n");
            }));
            ASSERT_FALSE(logOff.m_answers.empty());
            for (size_t i = 0; i < logOff.m_answers.size(); ++i) EXPECT_NE(0, logOff.m_answers[i]) << "window " << i;
            EXPECT_EQ(0, SystemLogOff::s_nDeafWaits) << "the window's thread waited deaf while the system asked";
        }
        held.Release();
        ASSERT_TRUE(held.Join());
        if (c.bReadable) testsupport::PatchImport("kernel32.dll", "SetFileInformationByHandle", (void*)g_pSetFileInfo);
        EXPECT_EQ(kTwoGroups, GroupsFile());
        ASSERT_TRUE(KeptChangesThere());

        TestApp().m_boxes.clear();
        ClearGroups();
        EXPECT_TRUE(Run([&](CPurgeletDlg&) { ASSERT_EQ(1u, Boxes(1).size()); }));
        EXPECT_EQ(FileLines() + kNowHolds, TestApp().m_boxes[0].text);
        EXPECT_EQ(deleted, GroupsFile());
        EXPECT_FALSE(KeptChangesThere());
    }
}

// Moves the kept changes of key `from` into key `to` (copies them, bLeave): another copy's end comes when the
// test has it come.
void MoveKept(const std::string& from, const std::string& to, bool bLeave = false)
{
    HKEY hFrom = NULL, hTo = NULL;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, from.c_str(), 0, KEY_READ, &hFrom) != ERROR_SUCCESS) return;
    ::RegCreateKeyExA(HKEY_CURRENT_USER, to.c_str(), 0, NULL, 0, KEY_ALL_ACCESS, NULL, &hTo, NULL);
    EXPECT_EQ(ERROR_SUCCESS, ::RegCopyTreeA(hFrom, NULL, hTo)) << from;
    ::RegCloseKey(hFrom);
    ::RegCloseKey(hTo);
    if (!bLeave) RegistrySandbox::DeleteTree(HKEY_CURRENT_USER, from);
}

// The record this run took to store renamed for another process, as that one would have taken
// it.
void TakenFor(const std::string& key, const PROCESS_INFORMATION& pi)
{
    std::string name;
    for (const std::string& record : KeptRecordNames()) name = record.size() > 32 ? record : name;
    FILETIME started = {}, times[3] = {};
    ASSERT_TRUE(::GetProcessTimes(pi.hProcess, &started, &times[0], &times[1], &times[2]) && !name.empty());
    char taken[96];
    sprintf(taken, "%s %08lX %08lX%08lX", name.substr(0, 23).c_str(), pi.dwProcessId, started.dwHighDateTime,
            started.dwLowDateTime);
    std::vector<BYTE> bytes(1 << 16);
    DWORD cbData = (DWORD)bytes.size();
    ASSERT_EQ(ERROR_SUCCESS, ::RegGetValueA(HKEY_CURRENT_USER, key.c_str(), name.c_str(), RRF_RT_REG_BINARY, NULL,
                                            bytes.data(), &cbData));
    RegistrySandbox::SetBinary(HKEY_CURRENT_USER, key, taken, bytes.data(), cbData);
    ::RegDeleteKeyValueA(HKEY_CURRENT_USER, key.c_str(), name.c_str());
}

// Two copies of the program for one user (one file, one key), each a run of the store. Other
// copies end keeping a keyword for Media the read-only file refused ("k1", "k2" before B
// started, "ka" after); then B ends in one of four ways. B takes every record there at its
// start (and keeps them as one record), and only those; the next start stores every record
// in the order kept, one box.
// A record a copy X took to store (its store failed) is X's while X runs: B, started then,
// neither stores nor removes it; once X ended the next start stores it.
TEST_F(MainWindowGroupsFileTest, ChangesAnotherCopyKeptAtItsEndStayUntilAStartStoresThem)
{
    UseProgramKey();
    const std::string key = kKeptChangesKey, before = key + " before", after = key + " after";
    const auto readOnly = [&](bool bReadOnly) {
        ::SetFileAttributesA(m_groupsFile.c_str(), bReadOnly ? FILE_ATTRIBUTE_READONLY : FILE_ATTRIBUTE_NORMAL);
    };
    const struct
    {
        const char* what;
        int nBefore;       // copies ended before B started (the file read-only at B's start then)
        bool bAfter;       // a copy ended after B started
        bool bUnreadable;  // a record that cannot be read, kept first
        bool bTaken;       // X took the first record before B started, and runs until B ended
        char b;            // 'e' a session's end, 'x' an exit, 's' "kb" saved to Tools, 'k' "kb" to Media kept
        size_t nRecords;   // once B ended
        std::vector<const char*> media;  // Media's keywords after the next start
    } cases[] = {
        {"B's session ends", 0, true, false, false, 'e', 1, {"player", "ka"}},
        {"B exits", 0, true, false, false, 'x', 1, {"player", "ka"}},
        {"B's save goes through", 0, true, false, false, 's', 1, {"player", "ka"}},
        {"B keeps its own", 0, true, false, false, 'k', 2, {"player", "ka", "kb"}},
        {"one copy", 1, false, true, false, 'k', 1, {"player", "k1", "kb"}},
        {"B took both of two", 2, true, false, false, 'e', 2, {"player", "k1", "k2", "ka"}},
        {"X runs on with the record it took", 1, false, false, true, 'x', 1, {"player", "k1"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        WriteGroups(kTwoGroups);
        for (int i = 0; i < c.nBefore + c.bAfter; ++i) {
            ClearGroups();
            LoadGroupsFileAndStoreKept();
            readOnly(true);
            CGroupManager::GetInstance()->FindGroup(3)->AddKeyword(i == c.nBefore ? "ka" : i == 0 ? "k1" : "k2");
            EXPECT_FALSE(SaveGroupsFile(false));
            SaveGroupsFileAtExit();
            readOnly(false);
            MoveKept(key, i == c.nBefore ? after : before);
        }
        MoveKept(before, key);
        if (c.bUnreadable)
            RegistrySandbox::SetBinary(HKEY_CURRENT_USER, key, "Groups 0000000000000001 00000001", "x", 1);
        // X takes the first record, its store fails, and it runs on (a process held suspended)
        // until B ended.
        PROCESS_INFORMATION x = {};
        std::string command = "\"" + mainwindowtest::TestFolder() + "file_holder.exe\"";
        STARTUPINFOA si = {};
        si.cb = sizeof(si);
        if (c.bTaken) {
            ASSERT_TRUE(::CreateProcessA(NULL, &command[0], NULL, NULL, FALSE, CREATE_SUSPENDED, NULL, NULL, &si, &x));
            ClearGroups();
            readOnly(true);
            LoadGroupsFileAndStoreKept();
            TakenFor(key, x);
        }
        ClearGroups();
        readOnly(c.nBefore > 0);
        LoadGroupsFileAndStoreKept();
        MoveKept(after, key);
        readOnly(c.b == 'k');
        if (c.b == 'k' || c.b == 's') {
            CGroupManager::GetInstance()->FindGroup(c.b == 's' ? 2 : 3)->AddKeyword("kb");
            EXPECT_EQ(c.b == 's', SaveGroupsFile(false));
        }
        c.b == 'e' ? CGroupsStore::Instance().EndSession() : SaveGroupsFileAtExit();
        readOnly(false);
        if (c.bTaken) {
            EXPECT_EQ(kTwoGroups, GroupsFile()) << "B stored X's record";
            ::TerminateProcess(x.hProcess, 0);
            EXPECT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(x.hProcess, 10000));
            ::CloseHandle(x.hProcess);
            ::CloseHandle(x.hThread);
        }
        EXPECT_EQ(c.nRecords, KeptRecordNames().size());

        ClearGroups();
        EXPECT_EQ(FileLines() + kNowHolds, LoadGroupsFileAndStoreKept());
        std::vector<const char*> tools = {"corpus"};
        if (c.b == 's') tools.push_back("kb");
        ExpectFileNodes(GroupsFileOf(GroupElement("Id=\"2\" Name=\"Tools\"", tools) +
                                     GroupElement("Id=\"3\" Name=\"Media\"", c.media)));
        EXPECT_FALSE(KeptChangesThere());
    }
}

// Copies X and Y both start after A ended with a group made and a keyword added for Media that
// the read-only file refused. X, the first to start, takes A's record at its start (a real
// process holds the claim): Y, started while X runs, neither stores nor tells of it, and
// follows the file as X leaves it. X stores it (its store put in place here, a rename after
// it), or X finds the file held and dies with it: then the start after Y stores it, once.
TEST_F(MainWindowGroupsFileTest, ARecordAnotherCopyTookAtItsStartIsStoredByThatCopyOnly)
{
    UseProgramKey();
    const auto file = [](const char* games, bool bKa, bool bKy) {
        std::vector<const char*> tools = {"corpus"}, media = {"player"};
        if (bKy) tools.push_back("ky");
        if (bKa) media.push_back("ka");
        return GroupsFileOf(GroupElement("Id=\"2\" Name=\"Tools\"", tools) +
                            GroupElement("Id=\"3\" Name=\"Media\"", media) +
                            (games ? GroupElement(std::string("Id=\"4\" Name=\"") + games + "\"", {"g2"}) : ""));
    };
    for (const bool bStored : {true, false}) {
        SCOPED_TRACE(bStored ? "X stores it" : "X finds the file held and dies");
        WriteGroups(kTwoGroups);
        ClearGroups();
        LoadGroupsFileAndStoreKept();
        ::SetFileAttributesA(m_groupsFile.c_str(), FILE_ATTRIBUTE_READONLY);
        GroupEntry games;
        games.Name = "games";
        games.AddKeyword("g2");
        CGroupManager::GetInstance()->AddGroup(games);
        CGroupManager::GetInstance()->FindGroup(3)->AddKeyword("ka");
        EXPECT_FALSE(SaveGroupsFile(false));
        SaveGroupsFileAtExit();
        // X's start takes the record; its store fails while the file is read-only.
        PROCESS_INFORMATION x = {};
        std::string command = "\"" + mainwindowtest::TestFolder() + "file_holder.exe\"";
        STARTUPINFOA si = {};
        si.cb = sizeof(si);
        ASSERT_TRUE(::CreateProcessA(NULL, &command[0], NULL, NULL, FALSE, CREATE_SUSPENDED, NULL, NULL, &si, &x));
        ClearGroups();
        EXPECT_NE("", LoadGroupsFileAndStoreKept()) << "not stored";
        TakenFor(kKeptChangesKey, x);
        ::SetFileAttributesA(m_groupsFile.c_str(), FILE_ATTRIBUTE_NORMAL);

        ClearGroups();
        EXPECT_EQ("", LoadGroupsFileAndStoreKept()) << "Y tells of X's record";
        std::string names;
        for (const GroupEntry& group : CGroupManager::GetInstance()->UserGroups()) names += " " + group.Name;
        EXPECT_EQ(" Tools Media", names);
        if (bStored) {
            WriteGroups(file("fun", true, false));
            RegistrySandbox::DeleteTree(HKEY_CURRENT_USER, kKeptChangesKey);
        }
        CGroupManager::GetInstance()->FindGroup(2)->AddKeyword("ky");
        EXPECT_TRUE(SaveGroupsFile(false));
        SaveGroupsFileAtExit();
        EXPECT_EQ(bStored ? file("fun", true, true) : file(NULL, false, true), GroupsFile());
        // X's record and the mark that records are kept.
        EXPECT_EQ(bStored ? 0u : 2u, mainwindowtest::StoredValues(kKeptChangesKey).size()) << "Y took X's record";
        ::TerminateProcess(x.hProcess, 0);
        EXPECT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(x.hProcess, 10000));
        ::CloseHandle(x.hProcess);
        ::CloseHandle(x.hThread);

        ClearGroups();
        EXPECT_EQ(bStored ? "" : FileLines() + kNowHolds, LoadGroupsFileAndStoreKept());
        ExpectFileNodes(file(bStored ? "fun" : "games", true, true));
        EXPECT_FALSE(KeptChangesThere());
    }
}

namespace {

// The groups of kTwoGroups as a run read them: Tools (2) and Media (3).
std::vector<GroupEntry> TwoGroupsAsRead()
{
    std::vector<GroupEntry> base(2);
    base[0].Id = 2, base[0].Name = "Tools", base[0].Keywords = {"corpus"};
    base[1].Id = 3, base[1].Name = "Media", base[1].Keywords = {"player"};
    return base;
}

// The records of earlier ends, each named in the order kept and each renaming Media and
// adding a keyword to it on the file as it was ("m0" and "k0" first).
void KeepRenames(int nRecords)
{
    for (int k = 0; k < nRecords; ++k) {
        const std::vector<GroupEntry> base = TwoGroupsAsRead();
        std::vector<GroupEntry> here = base;
        here[1].Name = "m" + std::to_string(k);
        here[1].Keywords.push_back("k" + std::to_string(k));
        char name[64];
        sprintf(name, "Groups 01D0000000%06X %08lX", k, ::GetCurrentProcessId() + 1);
        std::string record = name;
        ASSERT_TRUE(KeepGroupChanges(GroupChangesBetween(base, here, {}, {}), &record));
    }
}

BOOL(WINAPI* g_pMoveFileEx)(LPCSTR, LPCSTR, DWORD) = NULL;
std::atomic<int> g_nReplaced{0};
std::string g_strKeyAtReplace;

// A save's new file takes the groups file's name: the kept records as they are then are
// copied aside (under g_strKeyAtReplace), as a death at that moment would leave them.
// A key the user presses while the start reads the groups file (F24: nothing acts on it),
// and how often the window's thread took it from its queue, when at the file's write.
std::atomic<int> g_nKeysTaken{0};
int g_nKeysAtReplace = -1;

bool IsGroupsFile(const char* pszPath)
{
    const std::string path = pszPath != NULL ? pszPath : "";
    return path.size() > 13 && path.compare(path.size() - 13, 13, "\\Purgelet.xml") == 0;
}

BOOL WINAPI CountedMove(LPCSTR pszFrom, LPCSTR pszTo, DWORD dwFlags)
{
    if (IsGroupsFile(pszTo)) {
        if (++g_nReplaced == 1) g_nKeysAtReplace = g_nKeysTaken;
        if (!g_strKeyAtReplace.empty()) {
            RegistrySandbox::DeleteTree(HKEY_CURRENT_USER, g_strKeyAtReplace);
            MoveKept(kKeptChangesKey, g_strKeyAtReplace, true);
        }
    }
    return g_pMoveFileEx(pszFrom, pszTo, dwFlags);
}

// The start's first reading of the groups file: whether the main window was on the screen
// and painted whole then; the user presses a key meanwhile.
HANDLE(WINAPI* g_pCreateFile)(LPCSTR, DWORD, DWORD, LPSECURITY_ATTRIBUTES, DWORD, DWORD, HANDLE) = NULL;
int g_nReads = 0;
bool g_bDrawnAtRead = false;

HANDLE WINAPI NotedOpen(LPCSTR pszPath, DWORD dwAccess, DWORD dwShare, LPSECURITY_ATTRIBUTES pSecurity, DWORD dwHow,
                        DWORD dwFlags, HANDLE hTemplate)
{
    if (IsGroupsFile(pszPath) && (dwAccess & GENERIC_WRITE) == 0 && g_nReads++ == 0) {
        CWnd* pMain = AfxGetMainWnd();
        g_bDrawnAtRead = pMain != NULL && pMain->IsWindowVisible() && !::GetUpdateRect(pMain->m_hWnd, NULL, FALSE);
        INPUT keys[2] = {};
        for (INPUT& key : keys) {
            key.type = INPUT_KEYBOARD;
            key.ki.wVk = VK_F24;
        }
        keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
        ::SendInput(2, keys, sizeof(INPUT));
    }
    return g_pCreateFile(pszPath, dwAccess, dwShare, pSecurity, dwHow, dwFlags, hTemplate);
}

LRESULT CALLBACK CountKeysTaken(int nCode, WPARAM wParam, LPARAM lParam)
{
    const MSG* pMsg = (const MSG*)lParam;
    if (nCode == HC_ACTION && wParam == PM_REMOVE && pMsg->message == WM_KEYDOWN && pMsg->wParam == VK_F24)
        ++g_nKeysTaken;
    return ::CallNextHookEx(NULL, nCode, wParam, lParam);
}

struct CountedReplaces
{
    CountedReplaces(const std::string& keyAtReplace = "")
    {
        g_nReplaced = 0;
        g_strKeyAtReplace = keyAtReplace;
        g_pMoveFileEx = (decltype(g_pMoveFileEx))testsupport::PatchImport("kernel32.dll", "MoveFileExA",
                                                                          (void*)&CountedMove);
    }
    ~CountedReplaces() { testsupport::PatchImport("kernel32.dll", "MoveFileExA", (void*)g_pMoveFileEx); }
};

}  // namespace

// Twenty ends kept a change each while the file could not take them: the next start takes
// them all, merges them in the order kept, each as the change it was in its run, and writes
// the file once; one box tells of them, and the records go. The window comes first: the file
// is read once the window is on the screen and painted whole, and a key the user presses
// meanwhile is taken before the file is written.
TEST_F(MainWindowGroupsFileTest, ManyKeptRecordsAreStoredInOneWriteWithOneBox)
{
    UseProgramKey();
    WriteGroups(kTwoGroups);
    ClearGroups();
    KeepRenames(20);
    ASSERT_EQ(20u, KeptRecordNames().size());
    CountedReplaces replaces;
    g_nReads = 0;
    g_nKeysTaken = 0;
    g_nKeysAtReplace = -1;
    g_bDrawnAtRead = false;
    g_pCreateFile = (decltype(g_pCreateFile))testsupport::PatchImport("kernel32.dll", "CreateFileA", (void*)&NotedOpen);
    const HHOOK hKeys = ::SetWindowsHookExA(WH_GETMESSAGE, CountKeysTaken, NULL, ::GetCurrentThreadId());
    TestApp().m_boxes.clear();
    EXPECT_TRUE(Run([&](CPurgeletDlg& dlg) {
        ASSERT_EQ(1u, Boxes(1).size());
        EXPECT_EQ(FileLines() + kNowHolds, TestApp().m_boxes[0].text);
        EXPECT_TRUE(TestApp().m_boxes[0].bMainWindowDrawn);
        EXPECT_EQ((std::vector<std::string>{"Tools", "m19"}), TreeGroups(dlg));
    }));
    ::UnhookWindowsHookEx(hKeys);
    testsupport::PatchImport("kernel32.dll", "CreateFileA", (void*)g_pCreateFile);
    EXPECT_TRUE(g_bDrawnAtRead) << "the file was read before the window showed";
    EXPECT_EQ(1, g_nKeysAtReplace) << "the key pressed while the file was read, taken before its write";
    EXPECT_EQ(1, g_nReplaced) << "writes of the file";
    std::vector<const char*> media = {"player"};
    std::vector<std::string> words;
    for (int k = 0; k < 20; ++k) words.push_back("k" + std::to_string(k));
    for (const std::string& word : words) media.push_back(word.c_str());
    ExpectFileNodes(GroupsFileOf(GroupElement("Id=\"2\" Name=\"Tools\"", {"corpus"}) +
                                 GroupElement("Id=\"3\" Name=\"m19\"", media)));
    EXPECT_FALSE(KeptChangesThere());
}

// An end deleted Media, a later one renamed it on the file as it was: the later record is
// merged whole, as the running program would have merged that rename with the file the first
// store left, and the group comes back with it, under its Id.
TEST_F(MainWindowGroupsFileTest, ALaterRecordChangingAGroupAnEarlierOneDeletedIsMergedWhole)
{
    UseProgramKey();
    WriteGroups(kTwoGroups);
    ClearGroups();
    const std::vector<GroupEntry> base = TwoGroupsAsRead();
    std::string first = "Groups 01C0000000000000 00000001";
    ASSERT_TRUE(KeepGroupChanges(GroupChangesBetween(base, {base[0]}, {}, {}), &first));
    KeepRenames(2);
    ClearGroups();
    EXPECT_EQ(FileLines() + kNowHolds, LoadGroupsFileAndStoreKept());
    ExpectFileNodes(GroupsFileOf(GroupElement("Id=\"2\" Name=\"Tools\"", {"corpus"}) +
                                 GroupElement("Id=\"3\" Name=\"m1\"", {"player", "k0", "k1"})));
    EXPECT_FALSE(KeptChangesThere());
}

// An end deleted Tools, a later one renamed it; the next start finds the file held, shows
// Media, and the user opens it in the editor. The file freed, the later record is merged
// whole: every group is made again. Apply still renames Media, the one the editor shows,
// and no other group, nor makes a second Media.
TEST_F(MainWindowGroupsFileTest, TheEditorAppliesToItsGroupAfterAWholeMergeMadeTheGroupsAgain)
{
    UseProgramKey();
    WriteGroups(kTwoGroups);
    ClearGroups();
    const std::vector<GroupEntry> base = TwoGroupsAsRead();
    std::vector<GroupEntry> renamed = base;
    renamed[0].Name = "t0";
    std::string first = "Groups 01C0000000000000 00000001", later = "Groups 01D0000000000000 00000002";
    ASSERT_TRUE(KeepGroupChanges(GroupChangesBetween(base, {base[1]}, {}, {}), &first));
    ASSERT_TRUE(KeepGroupChanges(GroupChangesBetween(base, renamed, {}, {}), &later));
    ClearGroups();
    TestApp().m_boxes.clear();
    HeldFile held(m_groupsFile, HeldFile::SharingNothing);
    ASSERT_TRUE(held.Hold());
    EXPECT_TRUE(Run([&](CPurgeletDlg& dlg) {
        ::SetForegroundWindow(dlg.m_hWnd);
        CPageUninstallGroupEditor& editor = dlg.m_pageUninstall.m_pageEditor;
        ASSERT_TRUE(PumpUntil([&] { return TreeGroups(dlg) == std::vector<std::string>{"Media"}; }));
        OpenInEditor(dlg, "Media");
        EmptyField(editor.m_wndName);
        TypeInto(editor.m_wndName, "video");
        held.Release();
        ASSERT_TRUE(held.Join());
        ASSERT_TRUE(PumpUntil([&] { return !CGroupsStore::Instance().WaitsForHeldFile(); }));
        const auto treeSet = [&] {
            const std::vector<std::string> tree = TreeGroups(dlg);
            return std::multiset<std::string>(tree.begin(), tree.end());
        };
        ASSERT_EQ((std::multiset<std::string>{"t0", "Media"}), treeSet());
        ClickIn(editor.m_wndApply.m_hWnd);
        EXPECT_TRUE(PumpUntil([&] { return !EditorOpen(dlg); }));
        EXPECT_EQ((std::multiset<std::string>{"t0", "video"}), treeSet());
    }));
    ExpectFileNodes(GroupsFileOf(GroupElement("Id=\"2\" Name=\"t0\"", {"corpus"}) +
                                 GroupElement("Id=\"3\" Name=\"video\"", {"player"})));
}

// Two ends kept a rename of Media each ("m0", then "m1") while the file was read-only; a
// third copy starts while it still is and takes both (its list shows "m1"). The file becomes
// writable, the user renames the group "mine", and the save says it is stored: the records
// went with it, and no older one renames the group back at the next start.
TEST_F(MainWindowGroupsFileTest, AChangeToldAsStoredIsNeverUndoneByAnOlderRecord)
{
    UseProgramKey();
    WriteGroups(kTwoGroups);
    ClearGroups();
    KeepRenames(2);
    ::SetFileAttributesA(m_groupsFile.c_str(), FILE_ATTRIBUTE_READONLY);
    ClearGroups();
    EXPECT_NE(std::string::npos, LoadGroupsFileAndStoreKept().find("are not stored yet"));
    EXPECT_EQ("m1", CGroupManager::GetInstance()->FindGroup(3)->Name);
    ::SetFileAttributesA(m_groupsFile.c_str(), FILE_ATTRIBUTE_NORMAL);
    CGroupManager::GetInstance()->FindGroup(3)->Name = "mine";
    EXPECT_TRUE(SaveGroupsFile(false));
    SaveGroupsFileAtExit();
    EXPECT_FALSE(KeptChangesThere());
    ClearGroups();
    EXPECT_EQ("", LoadGroupsFileAndStoreKept());
    ExpectFileNodes(GroupsFileOf(GroupElement("Id=\"2\" Name=\"Tools\"", {"corpus"}) +
                                 GroupElement("Id=\"3\" Name=\"mine\"", {"player", "k0", "k1"})));
}

// The kept changes go with the first write of the run, whichever asks for it (the session's
// question that is then called off, a change made before the start's own store): the start's
// box still says the file holds them, once.
TEST_F(MainWindowGroupsFileTest, AKeptChangeIsToldAsStoredWhicheverWriteStoredIt)
{
    UseProgramKey();
    for (const char route : {'q', 'c', 's'}) {
        SCOPED_TRACE(route == 'q' ? "the session's question" : route == 'c' ? "a change" : "the start's store");
        WriteGroups(kTwoGroups);
        RegistrySandbox::DeleteTree(HKEY_CURRENT_USER, kKeptChangesKey);
        KeepRenames(1);
        ClearGroups();
        EXPECT_EQ("", LoadGroupsFile());
        if (route == 'c') CGroupManager::GetInstance()->FindGroup(2)->AddKeyword("kc");
        if (route != 's') EXPECT_TRUE(SaveGroupsFile(false, 0, route == 'c'));
        EXPECT_EQ(FileLines() + kNowHolds, CGroupsStore::Instance().StoreKept());
        EXPECT_EQ("", CGroupsStore::Instance().StoreKept());
        std::vector<const char*> tools = {"corpus"};
        if (route == 'c') tools.push_back("kc");
        ExpectFileNodes(GroupsFileOf(GroupElement("Id=\"2\" Name=\"Tools\"", tools) +
                                     GroupElement("Id=\"3\" Name=\"m0\"", {"player", "k0"})));
        EXPECT_FALSE(KeptChangesThere());
    }
}

namespace {

BOOL(WINAPI* g_pDeleteFile)(LPCSTR) = NULL;
std::string g_strKeyAtTempDelete;

// A save's new bytes deleted from beside the file (its replace refused): the kept records as
// they are then are copied aside, as a death at that moment would leave them.
BOOL WINAPI NotedDelete(LPCSTR pszPath)
{
    const std::string path = pszPath != NULL ? pszPath : "";
    if (!g_strKeyAtTempDelete.empty() && path.find("\\Purgelet.xml.~") != std::string::npos) {
        MoveKept(kKeptChangesKey, g_strKeyAtTempDelete, true);
        g_strKeyAtTempDelete.clear();
    }
    return g_pDeleteFile(pszPath);
}

LONG(WINAPI* g_pRegDeleteValue)(HKEY, LPCSTR) = NULL;
std::string g_strKeyAtRecordsGoing;

// The first value deleted once the file took a save's name (the records it stored going):
// the kept records as they are just after it are copied aside, as a death then leaves them.
LONG WINAPI NotedValueDelete(HKEY hKey, LPCSTR pszName)
{
    const LONG nResult = g_pRegDeleteValue(hKey, pszName);
    if (!g_strKeyAtRecordsGoing.empty() && g_nReplaced > 0) {
        MoveKept(kKeptChangesKey, g_strKeyAtRecordsGoing, true);
        g_strKeyAtRecordsGoing.clear();
    }
    return nResult;
}

// The registry refuses to delete a write's note.
LONG WINAPI NoteDeleteRefused(HKEY hKey, LPCSTR pszName)
{
    const std::string name = pszName != NULL ? pszName : "", suffix = KeptWriteNoteName("");
    if (name.size() > suffix.size() && name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0)
        return ERROR_ACCESS_DENIED;
    return g_pRegDeleteValue(hKey, pszName);
}

// Makes each note of a write kept beside a record one of the first layout, as an earlier
// build left it (also after a write that was then refused).
void NotesOfTheFirstLayout()
{
    for (const auto& value : mainwindowtest::StoredValues(kKeptChangesKey)) {
        const std::string suffix = KeptWriteNoteName("");
        if (value.first.size() < suffix.size() ||
            value.first.compare(value.first.size() - suffix.size(), suffix.size(), suffix) != 0)
            continue;
        std::string bytes = value.second.substr(2);
        bytes[0] = 1;
        RegistrySandbox::SetBinary(HKEY_CURRENT_USER, kKeptChangesKey, value.first.c_str(), bytes.data(),
                                   (DWORD)bytes.size());
    }
}

}  // namespace

// The program dies after the write that stored a record and before the record goes (the
// record put back as it was then, with what the store noted of the write), or just after a
// reader of the file refused the write's replace: the next start applies it again only when
// the write did not get there. A note an earlier build left says nothing of that: its record
// is applied through the merge.
TEST_F(MainWindowGroupsFileTest, ARecordWhoseWriteReachedTheFileIsNotAppliedAgain)
{
    UseProgramKey();
    const std::string atWrite = std::string(kKeptChangesKey) + " at the write";
    const std::string stored = GroupsFileOf(GroupElement("Id=\"2\" Name=\"Tools\"", {"corpus"}) +
                                            GroupElement("Id=\"3\" Name=\"m0\"", {"player", "k0"}));
    const std::string other = GroupsFileOf(GroupElement("Id=\"2\" Name=\"Tools\"", {"corpus", "o"}) +
                                           GroupElement("Id=\"3\" Name=\"Media\"", {"player"}));
    const std::string merged = GroupsFileOf(GroupElement("Id=\"2\" Name=\"Tools\"", {"corpus", "o"}) +
                                            GroupElement("Id=\"3\" Name=\"m0\"", {"player", "k0"}));
    const struct
    {
        const char* what;
        std::string file;     // the file another hand left after the death ("": as the write left it)
        bool bNewBeside;      // the write's new bytes still lie beside the file, never moved in
        bool bRefused;        // a reader refused the replace; the death comes as its new bytes go
        bool bFirstLayout;    // the note as an earlier build wrote it
        bool bApplied;
        std::string after;
        // 'r' as the write takes the name, 'g' as the records it stored go; refused: 'd' as
        // its new bytes go, 'n' after the store, its note's delete refused
        char death = 'r';
        bool bHeld = false;   // another program holds the file at the next start, then lets go
        // the registry refuses the next start's delete of the note: the record and the new
        // bytes beside the file wait for the start after it
        bool bJudgeRefused = false;
    } cases[] = {
        {"the file as the write left it", "", false, false, false, false, stored},
        {"another program took the change out since", other, false, false, false, false, other},
        {"the file the write replaced (it never got there)", kTwoGroups, false, false, false, true, stored},
        {"another program's file, the new bytes beside it", other, true, false, false, true, merged},
        {"refused, the file as it was", "", false, true, false, true, stored},
        {"refused, then another program's file", other, false, true, false, true, merged},
        {"an earlier build's note, another program's file", other, false, false, true, true, merged},
        {"an earlier build's note, the file as the write left it", "", false, false, true, false, stored},
        {"died as the records went, then another program's edit", other, false, false, false, false, other, 'g'},
        {"the file held at the start", "", false, false, false, false, stored, 'r', true},
        {"refused, the note stays, then another program's file", other, false, true, false, true, merged, 'n'},
        {"an earlier build's note, another program's file held at the start", other, false, false, true, true,
         merged, 'r', true},
        {"another program's file, the new bytes beside it, the note kept at the next start", other, true, false,
         false, true, merged, 'r', false, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        WriteGroups(kTwoGroups);
        RegistrySandbox::DeleteTree(HKEY_CURRENT_USER, kKeptChangesKey);
        RegistrySandbox::DeleteTree(HKEY_CURRENT_USER, atWrite);
        KeepRenames(1);
        ClearGroups();
        if (c.bRefused) {
            HeldFile reader(m_groupsFile, HeldFile::ReadingSharingReads);
            ASSERT_TRUE(reader.Hold());
            g_strKeyAtTempDelete = c.death == 'n' ? "" : atWrite;
            g_pDeleteFile =
                (decltype(g_pDeleteFile))testsupport::PatchImport("kernel32.dll", "DeleteFileA", (void*)&NotedDelete);
            if (c.death == 'n')
                g_pRegDeleteValue = (decltype(g_pRegDeleteValue))testsupport::PatchImport(
                    "advapi32.dll", "RegDeleteValueA", (void*)&NoteDeleteRefused);
            EXPECT_NE(FileLines() + kNowHolds, LoadGroupsFileAndStoreKept());
            testsupport::PatchImport("kernel32.dll", "DeleteFileA", (void*)g_pDeleteFile);
            if (c.death == 'n') {
                testsupport::PatchImport("advapi32.dll", "RegDeleteValueA", (void*)g_pRegDeleteValue);
                ASSERT_NE("", ReadKeptWriteNote(KeptRecordNames().at(0))) << "the replace was not refused";
                MoveKept(kKeptChangesKey, atWrite, true);
            }
            ASSERT_TRUE(g_strKeyAtTempDelete.empty()) << "the replace was not refused";
            reader.Release();
            ASSERT_TRUE(reader.Join());
            ASSERT_EQ(kTwoGroups, GroupsFile());
        } else {
            CountedReplaces replaces(c.death == 'r' ? atWrite : "");
            g_strKeyAtRecordsGoing = c.death == 'g' ? atWrite : "";
            g_pRegDeleteValue = (decltype(g_pRegDeleteValue))testsupport::PatchImport(
                "advapi32.dll", "RegDeleteValueA", (void*)&NotedValueDelete);
            EXPECT_EQ(FileLines() + kNowHolds, LoadGroupsFileAndStoreKept());
            testsupport::PatchImport("advapi32.dll", "RegDeleteValueA", (void*)g_pRegDeleteValue);
            ASSERT_TRUE(g_strKeyAtRecordsGoing.empty()) << "no record went";
            ASSERT_EQ(stored, GroupsFile());
            ASSERT_FALSE(KeptChangesThere());
        }
        RegistrySandbox::DeleteTree(HKEY_CURRENT_USER, kKeptChangesKey);
        MoveKept(atWrite, kKeptChangesKey);
        if (c.bFirstLayout) NotesOfTheFirstLayout();
        if (c.bNewBeside) {
            ASSERT_TRUE(::CopyFileA(m_groupsFile.c_str(), (m_groupsFile + ".~7.tmp").c_str(), FALSE));
        }
        if (!c.file.empty()) WriteGroups(c.file);
        ClearGroups();
        if (c.bJudgeRefused) {
            g_pRegDeleteValue = (decltype(g_pRegDeleteValue))testsupport::PatchImport(
                "advapi32.dll", "RegDeleteValueA", (void*)&NoteDeleteRefused);
            EXPECT_EQ("", LoadGroupsFileAndStoreKept());
            testsupport::PatchImport("advapi32.dll", "RegDeleteValueA", (void*)g_pRegDeleteValue);
            EXPECT_EQ(c.file, GroupsFile());
            EXPECT_NE(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesA((m_groupsFile + ".~7.tmp").c_str()))
                << "the new bytes the note needs went";
            ASSERT_TRUE(KeptChangesThere());
            ClearGroups();
        }
        if (c.bHeld) {
            HeldFile held(m_groupsFile, HeldFile::SharingNothing);
            ASSERT_TRUE(held.Hold());
            EXPECT_NE("", LoadGroupsFileAndStoreKept()) << "in use";
            held.Release();
            ASSERT_TRUE(held.Join());
            EXPECT_EQ(c.bApplied ? FileLines() + kNowHolds : "", CGroupsStore::Instance().ReadHeldFile());
        } else {
            EXPECT_EQ(c.bApplied ? FileLines() + kNowHolds : "", LoadGroupsFileAndStoreKept());
        }
        ExpectFileNodes(c.after);
        EXPECT_FALSE(KeptChangesThere());
        ::DeleteFileA((m_groupsFile + ".~7.tmp").c_str());
    }
}

// Another program reading the file (sharing reads: a backup, a scanner) refuses a change's
// replace, and the exit keeps the change. Before the next start the file is deleted, or
// another program changes it: that start stores the change all the same, and says so.
TEST_F(MainWindowGroupsFileTest, AChangeKeptAfterARefusedReplaceIsStoredWhateverBecameOfTheFile)
{
    const std::string theirs = GroupsFileOf(GroupElement("Id=\"2\" Name=\"Tools\"", {"corpus", "o"}) +
                                            GroupElement("Id=\"3\" Name=\"Media\"", {"player"}));
    for (const bool bDeleted : {true, false}) {
        SCOPED_TRACE(bDeleted ? "the file deleted" : "the file changed");
        WriteGroups(kTwoGroups);
        RegistrySandbox::DeleteTree(HKEY_CURRENT_USER, kKeptChangesKey);
        TestApp().m_boxes.clear();
        ClearGroups();
        HeldFile held(m_groupsFile, HeldFile::ReadingSharingReads);
        EXPECT_TRUE(Run([&](CPurgeletDlg& dlg) {
            ::SetForegroundWindow(dlg.m_hWnd);
            ASSERT_TRUE(PumpUntil([&] { return TreeGroups(dlg).size() == 2; }));
            ASSERT_TRUE(held.Hold());
            ChangeGroup(dlg, 'k', "Media");
            ASSERT_EQ(1u, Boxes(1).size()) << "not saved";
        }));
        ASSERT_EQ(2u, TestApp().m_boxes.size());
        EXPECT_EQ(NotSaved("is still in use by another program: the latest changes to the groups are not stored "
                           "in it now. They are kept, and stored in it at the next start."),
                  TestApp().m_boxes.back().text);
        held.Release();
        ASSERT_TRUE(held.Join());
        ASSERT_TRUE(KeptChangesThere());
        ASSERT_EQ(kTwoGroups, GroupsFile());
        if (bDeleted)
            ASSERT_TRUE(::DeleteFileA(m_groupsFile.c_str()));
        else
            WriteGroups(theirs);
        TestApp().m_boxes.clear();
        ClearGroups();
        EXPECT_TRUE(Run([&](CPurgeletDlg&) { ASSERT_EQ(1u, Boxes(1).size()); }));
        ASSERT_EQ(1u, TestApp().m_boxes.size());
        EXPECT_EQ(FileLines() + kNowHolds, TestApp().m_boxes[0].text);
        ExpectFileNodes(GroupsFileOf(GroupElement("Id=\"2\" Name=\"Tools\"",
                                                  bDeleted ? std::vector<const char*>{"corpus"}
                                                           : std::vector<const char*>{"corpus", "o"}) +
                                     GroupElement("Id=\"3\" Name=\"Media\"", {"player", "bkw"})));
        EXPECT_FALSE(KeptChangesThere());
    }
}
