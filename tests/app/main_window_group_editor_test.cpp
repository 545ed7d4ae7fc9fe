// What the group editor of the real main window holds, and names as the user wrote them:
// Apply and Add to Group refuse what a groups file cannot hold; typing not applied is
// asked about before a tree click, Edit or the window's close goes on, and a session's
// end applies it or keeps it for the next start.
#include "main_window_groups_fixture.h"
#include "held_file.h"
#include "app/box_name_line.h"
#include "support/xml_nodes.h"
#include <gtest/gtest.h>
#include <algorithm>
#include <atomic>
#include <cstring>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

using mainwindowtest::AddGroup;
using mainwindowtest::TextOf;
using namespace mainwindowgroupstest;

namespace {

// Pastes text (which keys cannot type) into an editor field, as the user does from
// another program.
void PasteInto(CWnd& field, const char* text)
{
    mainwindowtest::SetClipboard(text);
    ClickIn(field.m_hWnd);
    EXPECT_TRUE(PumpUntil([&] { return ::GetFocus() == field.m_hWnd; })) << text;
    const int nLength = field.GetWindowTextLength() + (int)strlen(text);
    TapWith(VK_CONTROL, 'V');
    EXPECT_TRUE(PumpUntil([&] { return field.GetWindowTextLength() == nLength; })) << text;
}

// A box the main window shows over itself while the input runs, answered with a click
// on nAnswer; gives back its caption and text.
std::pair<std::string, std::string> BoxAnswered(CPurgeletDlg& dlg, UINT nAnswer, const std::function<void()>& input)
{
    HWND hDlg = dlg.m_hWnd;
    ownedbox::BoxWatcher box(hDlg, [nAnswer](HWND hBox) { ownedbox::ClickBoxButton(hBox, nAnswer); });
    input();
    EXPECT_TRUE(PumpUntil([&] { return box.Settled(hDlg); }, ownedbox::kBoxWaitMs) && box.m_bFound);
    box.Join();
    EXPECT_FALSE(box.m_bStuck);
    return {box.m_caption, box.m_text};
}

std::string Title(CPurgeletDlg& dlg) { return TextOf(dlg); }

// Two boxes in a row over the main window while the input runs: the first answered
// nFirst, then the one it leads to answered nSecond. Gives back their texts.
std::pair<std::string, std::string> TwoBoxesAnswered(CPurgeletDlg& dlg, UINT nFirst, UINT nSecond,
                                                     const std::function<void()>& input)
{
    HWND hDlg = dlg.m_hWnd;
    std::unique_ptr<ownedbox::BoxWatcher> second;
    std::atomic<bool> bSecondWatched{false};
    ownedbox::BoxWatcher first(hDlg, [&](HWND hBox) {
        ownedbox::ClickBoxButton(hBox, nFirst);
        realinput::SleepUntil([&] { return !::IsWindowVisible(hBox); }, ownedbox::kBoxWaitMs);
        second.reset(new ownedbox::BoxWatcher(hDlg, [nSecond](HWND h) { ownedbox::ClickBoxButton(h, nSecond); }));
        bSecondWatched = true;
    });
    input();
    EXPECT_TRUE(PumpUntil([&] { return first.m_bGaveUp || (bSecondWatched && second->Settled(hDlg)); },
                          2 * ownedbox::kBoxWaitMs));
    first.Join();
    if (!second) return {first.m_text, ""};
    second->Join();
    EXPECT_FALSE(first.m_bStuck || second->m_bStuck);
    return {first.m_text, second->m_text};
}

}  // namespace

// A control character pasted into the editor (the groups file cannot keep one): Apply
// refuses with a box over the main window that names it, stores and writes nothing, and
// leaves the editor open with what was typed and the character selected, so that a key
// typed over it mends it and Apply then goes through.
TEST_F(MainWindowGroupsFileTest, ApplyRefusesAControlCharacterAndWritesNothing)
{
    const struct
    {
        const char* what;
        const char* name;
        const char* keywords;
        int nField;
        int nChar;
        const char* box;
        const char* typedOver;
        const char* written;
    } cases[] = {
        {"in the name", "Tom\x01Jerry", "", IDC_GROUP_NAME, 3,
         "The group is not applied: its name holds the control character U+0001 at character 4, which a groups "
         "file cannot hold.\r\n\r\nRemove it and apply again.",
         "x", "Name=\"TomxJerry\""},
        {"in a keyword", "Tools", "corpus\r\nread\x02" "er", IDC_GROUP_KEYWORDS, 12,
         "The group is not applied: the keyword\r\n\r\nread er\r\n\r\nholds the control character U+0002 at "
         "character 5, which a groups file cannot hold.\r\n\r\nRemove it and apply again.",
         " ", "Name=\"Tools\">\n<Keyword>corpus</Keyword>\n<Keyword>read er</Keyword>\n</Group>"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_TRUE(RunInNewGroup([&](CPurgeletDlg& dlg, CPageUninstallGroupEditor& editor) {
            PasteInto(editor.m_wndName, c.name);
            if (*c.keywords != '\0') PasteInto(editor.m_wndKeywords, c.keywords);
            const auto box = BoxAnswered(dlg, IDOK, [&] { ClickIn(editor.m_wndApply.m_hWnd); });
            EXPECT_EQ(Title(dlg), box.first);
            EXPECT_EQ(c.box, box.second);

            EXPECT_TRUE(EditorOpen(dlg));
            EXPECT_EQ(c.name, TextOf(editor.m_wndName));
            EXPECT_EQ(c.keywords, TextOf(editor.m_wndKeywords));
            EXPECT_EQ(1u, CGroupManager::GetInstance()->m_Groups.size());
            EXPECT_TRUE(TreeGroups(dlg).empty());
            EXPECT_FALSE(Exists(m_groupsFile));
            CWnd* pField = editor.GetDlgItem(c.nField);
            EXPECT_TRUE(PumpUntil([&] { return ::GetFocus() == pField->m_hWnd; }));
            DWORD nStart = 0, nEnd = 0;
            pField->SendMessage(EM_GETSEL, (WPARAM)&nStart, (LPARAM)&nEnd);
            EXPECT_EQ((DWORD)c.nChar, nStart);
            EXPECT_EQ((DWORD)c.nChar + 1, nEnd);

            Type(c.typedOver);
            EXPECT_TRUE(PumpUntil([&] { return TextOf(*pField)[c.nChar] == c.typedOver[0]; })) << TextOf(*pField);
            ClickIn(editor.m_wndApply.m_hWnd);
            EXPECT_TRUE(PumpUntil([&] { return !EditorOpen(dlg) && TreeGroups(dlg).size() == 1u; }));
            EXPECT_NE(std::string::npos, GroupsFile().find(c.written)) << GroupsFile();
        }));
        EXPECT_TRUE(TestApp().m_boxes.empty());
    }
}

// A keyword is kept as typed, blanks at its ends too: through Apply, the file and the
// next start.
TEST_F(MainWindowGroupsFileTest, AKeywordKeepsItsBlanksThroughApplyTheFileAndTheNextStart)
{
    EXPECT_TRUE(Run([&](CPurgeletDlg& dlg) {
        ::SetForegroundWindow(dlg.m_hWnd);
        NewGroup(dlg, "spaced", " a b ");
        EXPECT_NE(std::string::npos, GroupsFile().find("<Keyword> a b </Keyword>")) << GroupsFile();
    }));
    ClearGroups();
    EXPECT_TRUE(Run([&](CPurgeletDlg& dlg) {
        ::SetForegroundWindow(dlg.m_hWnd);
        ASSERT_EQ((std::vector<std::string>{"spaced"}), TreeGroups(dlg));
        ASSERT_EQ(2u, CGroupManager::GetInstance()->m_Groups.size());
        EXPECT_EQ((std::vector<std::string>{" a b "}), CGroupManager::GetInstance()->m_Groups[1]->Keywords);
    }));
    EXPECT_TRUE(TestApp().m_boxes.empty());
}

// A click on another group in the tree while the editor holds a new group's typing asks
// first: Yes applies the typing and opens the group clicked, No drops it and opens that
// group, Cancel leaves the editor with its typing and the tree as it was.
TEST_F(MainWindowGroupsFileTest, ATreeClickWhileTheEditorHoldsTypingAsksWhetherToApplyIt)
{
    const struct
    {
        UINT nAnswer;
        const char* what;
    } cases[] = {{IDYES, "Yes"}, {IDNO, "No"}, {IDCANCEL, "Cancel"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_TRUE(RunInNewGroup([&](CPurgeletDlg& dlg, CPageUninstallGroupEditor& editor) {
            CExtTreeCtrl& tree = Groups(dlg).m_wndTree;
            TypeInto(editor.m_wndName, "cartoons");
            TypeInto(editor.m_wndKeywords, "alpha");
            const HTREEITEM hCaret = tree.GetSelectedItem();

            const auto box = BoxAnswered(dlg, c.nAnswer, [&] { ClickGroup(dlg, "Media"); });
            EXPECT_EQ(Title(dlg), box.first);
            EXPECT_EQ("The group editor holds changes that are not applied yet.\r\n\r\nDo you want to apply them?",
                      box.second);

            EXPECT_TRUE(EditorOpen(dlg));
            if (c.nAnswer == IDCANCEL) {
                EXPECT_EQ("cartoons", TextOf(editor.m_wndName));
                EXPECT_EQ("alpha", TextOf(editor.m_wndKeywords));
                EXPECT_EQ(hCaret, tree.GetSelectedItem());
                EXPECT_EQ((std::vector<std::string>{"Tools", "Media"}), TreeGroups(dlg));
                EXPECT_FALSE(Exists(m_groupsFile));
                return;
            }
            EXPECT_TRUE(PumpUntil([&] { return TextOf(editor.m_wndName) == "Media"; })) << TextOf(editor.m_wndName);
            EXPECT_EQ("player\r\n", TextOf(editor.m_wndKeywords));
            EXPECT_EQ(TreeItem(dlg, "Media"), tree.GetSelectedItem());
            if (c.nAnswer == IDYES) {
                EXPECT_EQ((std::vector<std::string>{"Tools", "Media", "cartoons"}), TreeGroups(dlg));
                EXPECT_NE(std::string::npos, GroupsFile().find("Name=\"cartoons\">\n<Keyword>alpha</Keyword>"))
                    << GroupsFile();
            } else {
                EXPECT_EQ((std::vector<std::string>{"Tools", "Media"}), TreeGroups(dlg));
                EXPECT_FALSE(Exists(m_groupsFile));
            }
        }, {{"Tools", "corpus"}, {"Media", "player"}}));
        EXPECT_TRUE(TestApp().m_boxes.empty());
    }
}

// A double-click on the group the editor holds typing for asks too; Yes applies the typing
// and opens the group again as applied.
TEST_F(MainWindowGroupsFileTest, ADoubleClickOnTheEditedGroupAsksBeforeOpeningItAgain)
{
    AddGroup("Tools", "corpus");
    EXPECT_TRUE(Run([&](CPurgeletDlg& dlg) {
        ::SetForegroundWindow(dlg.m_hWnd);
        CPageUninstallGroupEditor& editor = dlg.m_pageUninstall.m_pageEditor;
        OpenInEditor(dlg, "Tools");
        TypeInto(editor.m_wndKeywords, "alpha");
        CRect rc;
        Groups(dlg).m_wndTree.GetItemRect(TreeItem(dlg, "Tools"), &rc, TRUE);
        const auto box = BoxAnswered(dlg, IDYES, [&] {
            ClickIn(Groups(dlg).m_wndTree.m_hWnd, rc);
            ClickIn(Groups(dlg).m_wndTree.m_hWnd, rc);
        });
        EXPECT_EQ("The group editor holds changes that are not applied yet.\r\n\r\nDo you want to apply them?",
                  box.second);
        EXPECT_TRUE(PumpUntil([&] { return EditorOpen(dlg) && TextOf(editor.m_wndKeywords) == "corpus\r\nalpha\r\n"; }))
            << TextOf(editor.m_wndKeywords);
        EXPECT_NE(std::string::npos, GroupsFile().find("<Keyword>corpus</Keyword>\n<Keyword>alpha</Keyword>"))
            << GroupsFile();
    }));
}

// Closing the main window while the editor holds a new group's typing asks first, as a
// tree click does: Yes applies it and closes, No closes without it, Cancel keeps the window
// and the typing. File > Exit and Alt+F4 (the system menu's Close, SC_CLOSE) ask.
TEST_F(MainWindowGroupsFileTest, ClosingTheWindowWhileTheEditorHoldsTypingAsksWhetherToApplyIt)
{
    const struct
    {
        const char* what;
        std::function<void(CPurgeletDlg&)> close;
        UINT nAnswer;
        bool bClosed, bWritten;
    } cases[] = {
        {"File > Exit, Yes", [](CPurgeletDlg&) { TapKeys({{VK_MENU, 'F'}, {0, 'X'}}); }, IDYES, true, true},
        {"Alt+F4, No", [](CPurgeletDlg&) { TapWith(VK_MENU, VK_F4); }, IDNO, true, false},
        {"Alt+F4, Cancel", [](CPurgeletDlg&) { TapWith(VK_MENU, VK_F4); }, IDCANCEL, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_TRUE(RunInNewGroup([&](CPurgeletDlg& dlg, CPageUninstallGroupEditor& editor) {
            TypeInto(editor.m_wndName, "cartoons");
            TypeInto(editor.m_wndKeywords, "alpha");

            const auto box = BoxAnswered(dlg, c.nAnswer, [&] { c.close(dlg); });
            EXPECT_EQ("The group editor holds changes that are not applied yet.\r\n\r\nDo you want to apply them?",
                      box.second);

            EXPECT_EQ(c.bClosed, !dlg.ContinueModal());
            EXPECT_EQ(c.bClosed, !dlg.IsWindowVisible());
            if (!c.bClosed) {
                EXPECT_TRUE(EditorOpen(dlg));
                EXPECT_EQ("cartoons", TextOf(editor.m_wndName));
                EXPECT_EQ("alpha", TextOf(editor.m_wndKeywords));
            }
        }));
        if (c.bWritten) {
            EXPECT_NE(std::string::npos, GroupsFile().find("Name=\"cartoons\">\n<Keyword>alpha</Keyword>"))
                << GroupsFile();
        } else {
            EXPECT_FALSE(Exists(m_groupsFile)) << GroupsFile();
        }
        EXPECT_TRUE(TestApp().m_boxes.empty());
    }
}

namespace {

// What the main window answered each start that asked whether it stays up, in order.
std::mutex s_answersLock;
std::vector<LRESULT> s_answers;

LRESULT CALLBACK RecordStaysUpAnswers(int nCode, WPARAM wParam, LPARAM lParam)
{
    const CWPRETSTRUCT* pRet = (const CWPRETSTRUCT*)lParam;
    if (nCode == HC_ACTION && pRet->message == g_nMsgStaysUp) {
        std::lock_guard<std::mutex> lock(s_answersLock);
        s_answers.push_back(pRet->lResult);
    }
    return ::CallNextHookEx(NULL, nCode, wParam, lParam);
}

std::vector<LRESULT> StaysUpAnswers()
{
    std::lock_guard<std::mutex> lock(s_answersLock);
    return s_answers;
}

}  // namespace

// A start made while a close the user asked for before it is undecided: Alt+F4 waiting in
// the queue behind the window's work, or the close's question about the editor's typing
// still open. The start waits for the outcome: a copy that closes leaves the start to run
// as the one copy; one that stays (Cancel) is brought up and the start ends. With no close
// asked the start brings the window up at once.
TEST_F(MainWindowGroupsFileTest, AStartMadeWhileACloseIsUndecidedWaitsForItsOutcome)
{
    using mainwindowtest::QueueHolds;
    using realinput::SleepUntil;
    const struct
    {
        const char* what;
        bool bQueued;  // Alt+F4 waits in the queue, unhandled, when the start asks
        bool bClosedFirst;  // the close is decided before the start's question is answered
        UINT nAnswer;  // the answer to the close's question, asked about typing (0: no typing)
        bool bClosed;
    } cases[] = {
        {"nothing asked", false, false, 0, false},
        {"Alt+F4 waiting", true, false, 0, true},
        {"closed before the answer", false, true, 0, true},
        {"the close's question, Cancel", false, false, IDCANCEL, false},
        {"the close's question, No", false, false, IDNO, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        {
            std::lock_guard<std::mutex> lock(s_answersLock);
            s_answers.clear();
        }
        // The running copy's mutex, held by the window's thread until the window is gone.
        HANDLE hCopyMutex = ::CreateMutexA(NULL, TRUE, NULL);
        HANDLE hHeld = NULL;
        ::DuplicateHandle(::GetCurrentProcess(), hCopyMutex, ::GetCurrentProcess(), &hHeld, 0, FALSE,
                          DUPLICATE_SAME_ACCESS);
        std::atomic<int> nStarted{-1};  // -1 while the start runs, then 1: brought up, 0: runs, 2: hangs
        std::atomic<bool> bWaitedForTheAnswer{false};
        std::thread start, hand;
        auto startNow = [&] { start = std::thread([&] { nStarted = (int)ShowRunningInstance(hHeld, 60000); }); };
        EXPECT_TRUE(RunInNewGroup([&](CPurgeletDlg& dlg, CPageUninstallGroupEditor& editor) {
            HHOOK hHook = ::SetWindowsHookExA(WH_CALLWNDPROCRET, RecordStaysUpAnswers, NULL, ::GetCurrentThreadId());
            ASSERT_TRUE(PumpUntil([&] { return ::GetForegroundWindow() == dlg.m_hWnd; }));
            if (c.nAnswer == 0) {
                // The window's thread is busy: nothing it is sent or given is handled yet.
                if (c.bQueued) {
                    TapWith(VK_MENU, VK_F4);
                    ASSERT_TRUE(SleepUntil([] { return QueueHolds(QS_KEY); }));
                }
                startNow();
                ASSERT_TRUE(SleepUntil([] { return QueueHolds(QS_SENDMESSAGE); })) << "the start asks first";
                EXPECT_EQ(-1, nStarted);
                if (c.bClosedFirst) dlg.SendMessage(WM_CLOSE);
                EXPECT_TRUE(PumpUntil([&] { return c.bClosed ? !dlg.ContinueModal() : nStarted != -1; }));
            } else {
                TypeInto(editor.m_wndKeywords, "alpha");
                // The start is made while the question is up; the question is answered once
                // the start has asked.
                hand = std::thread([&] {
                    HWND hBox = NULL;
                    if (!SleepUntil([&] { return (hBox = ownedbox::FindOpenBox(dlg.m_hWnd)) != NULL; }, 10000)) return;
                    startNow();
                    bWaitedForTheAnswer = SleepUntil([] { return !StaysUpAnswers().empty(); }, 10000) &&
                                          nStarted == -1 && ::IsWindowVisible(hBox);
                    ownedbox::Press(c.nAnswer)(hBox);
                });
                TapWith(VK_MENU, VK_F4);
                EXPECT_TRUE(PumpUntil([&] { return c.bClosed ? !dlg.ContinueModal() : nStarted != -1; }, 20000));
                hand.join();
                EXPECT_TRUE(bWaitedForTheAnswer);
            }
            EXPECT_EQ(c.bClosed, !dlg.ContinueModal());
            EXPECT_EQ(c.bClosed ? -1 : 1, nStarted) << "the start ends only once the copy stays";
            ::UnhookWindowsHookEx(hHook);
        }));
        // The copy's window is gone and its mutex with it: a start still waiting runs, and
        // takes it as the program's own (given back to this process's below).
        const HANDLE hOwnMutex = g_hPurgeletMutex;
        ::ReleaseMutex(hCopyMutex);
        if (start.joinable()) start.join();
        if (hand.joinable()) hand.join();
        EXPECT_EQ(c.bClosed ? 0 : 1, nStarted);
        const std::vector<LRESULT> answers = StaysUpAnswers();
        ASSERT_FALSE(answers.empty());
        // Asked while the close was undecided it may close; asked after Cancel it stays.
        for (size_t i = 0; i + 1 < answers.size(); ++i) EXPECT_EQ(kMayClose, answers[i]) << i;
        EXPECT_EQ(c.bClosed ? kMayClose : kStaysUp, answers.back());
        if (nStarted == 0) ::CloseHandle(hHeld);
        g_hPurgeletMutex = hOwnMutex;
        ::CloseHandle(hCopyMutex);
        TestApp().m_boxes.clear();
    }
}

// A display name holding a control character or a line break (registry data may hold
// either), offered as the keyword: OK refuses it with a box over the dialog that names
// it, adds and writes nothing, and keeps the dialog up with the character selected; typed
// over, OK adds it. A line break would come back from the group editor as two keywords.
TEST_F(MainWindowGroupsFileTest, AddToGroupRefusesAKeywordTheFileCannotHold)
{
    const struct
    {
        const char* what;
        const char* name;
        const char* box;
        DWORD nStart, nEnd;
    } cases[] = {
        {"a control character", "Delta\x01Suite",
         "Nothing is added to the group: the keyword\r\n\r\nDelta Suite\r\n\r\nholds the control character "
         "U+0001 at character 6, which a groups file cannot hold.\r\n\r\nRemove it and click OK again.",
         5, 6},
        {"a line break", "Delta\r\nSuite",
         "Nothing is added to the group: the keyword\r\n\r\nDelta  Suite\r\n\r\nholds a line break at character "
         "6, which a keyword cannot hold: the group editor shows each keyword on a line of its own.\r\n\r\nRemove "
         "it and click OK again.",
         5, 7},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ClearGroups();
        WriteGroups(kTwoGroups);
        ASSERT_TRUE(RegistrySandbox::SetString(HKEY_CURRENT_USER, UninstallKeyPath + "Delta", "DisplayName", c.name));
        EXPECT_TRUE(Run([&](CPurgeletDlg& dlg) {
            ::SetForegroundWindow(dlg.m_hWnd);
            ASSERT_TRUE(PumpUntil([&] { return TreeGroups(dlg) == std::vector<std::string>{"Tools", "Media"}; }));
            ClickRow(dlg, c.name);
            HWND hDlg = dlg.m_hWnd;
            std::string caption, text, fileMeanwhile;
            DWORD nStart = 0, nEnd = 0;
            bool bStayed = false, bStuck = false;
            ownedbox::BoxWatcher adding(hDlg, [&](HWND hAdd) {
                HWND hKeyword = ::GetDlgItem(hAdd, IDC_KEYWORD);
                realinput::SleepUntil([&] { return realinput::ThreadFocusIs(hDlg, hKeyword); }, ownedbox::kBoxWaitMs);
                {
                    ownedbox::BoxWatcher refusal(hAdd, [](HWND hBox) { ownedbox::ClickBoxButton(hBox, IDOK); });
                    Tap(VK_RETURN);
                    refusal.Join();
                    caption = refusal.m_caption;
                    text = refusal.m_text;
                    bStuck = refusal.m_bStuck;
                }
                realinput::SleepUntil([&] { return realinput::ThreadFocusIs(hDlg, hKeyword); }, ownedbox::kBoxWaitMs);
                bStayed = ::IsWindowVisible(hAdd) != FALSE;
                fileMeanwhile = GroupsFile();
                ::SendMessageA(hKeyword, EM_GETSEL, (WPARAM)&nStart, (LPARAM)&nEnd);
                Type(" ");
                const bool bMended = realinput::SleepUntil(
                    [&] {
                        char typed[32] = "";
                        ::GetWindowTextA(hKeyword, typed, sizeof(typed));
                        return strcmp(typed, "Delta Suite") == 0;
                    },
                    ownedbox::kBoxWaitMs);
                Tap(bMended ? VK_RETURN : VK_ESCAPE);  // not mended: OK would be refused again
            });
            TapKeys({{VK_MENU, 'A'}, {0, 'A'}});
            EXPECT_TRUE(PumpUntil([&] { return adding.Settled(hDlg); },
                                  ownedbox::kBoxWaitMs) && adding.m_bFound);
            adding.Join();
            EXPECT_FALSE(adding.m_bStuck);
            EXPECT_FALSE(bStuck);
            EXPECT_EQ("Add to group", caption);
            EXPECT_EQ(c.box, text);
            EXPECT_TRUE(bStayed);
            EXPECT_EQ(c.nStart, nStart);
            EXPECT_EQ(c.nEnd, nEnd);
            EXPECT_EQ(kTwoGroups, fileMeanwhile);

            EXPECT_TRUE(
                PumpUntil([&] { return GroupsFile().find("<Keyword>Delta Suite</Keyword>") != std::string::npos; }))
                << GroupsFile();
            ASSERT_EQ(3u, CGroupManager::GetInstance()->m_Groups.size());
            EXPECT_EQ((std::vector<std::string>{"corpus", "Delta Suite"}),
                      CGroupManager::GetInstance()->m_Groups[1]->Keywords);
        }));
        EXPECT_TRUE(TestApp().m_boxes.empty());
    }
}

// A keyword holding a line break comes only from a file edited by hand. The editor shows
// its lines one per line: Apply keeps it as it is while the keywords are not touched, and
// asks before it stores the lines as keywords of their own.
TEST_F(MainWindowGroupsFileTest, TheEditorSplitsNoKeywordHoldingALineBreakUnasked)
{
    WriteGroups("<?xml version=\"1.0\"?>\n<NimboPurgelet Version=\"1.1\">\n<Purgelet>\n<Group Id=\"2\" Name=\"Tools\">\n"
                "<Keyword>Corpus&#13;&#10;Reader</Keyword>\n</Group>\n</Purgelet>\n</NimboPurgelet>\n");
    EXPECT_TRUE(Run([&](CPurgeletDlg& dlg) {
        ::SetForegroundWindow(dlg.m_hWnd);
        CPageUninstallGroupEditor& editor = dlg.m_pageUninstall.m_pageEditor;
        ASSERT_EQ(2u, CGroupManager::GetInstance()->m_Groups.size());
        GroupEntry* pTools = CGroupManager::GetInstance()->m_Groups[1];
        const std::vector<std::string> stored = pTools->Keywords;
        ASSERT_EQ(1u, stored.size());
        ASSERT_NE(std::string::npos, stored[0].find('\n'));

        OpenInEditor(dlg, "Tools");
        TypeInto(editor.m_wndName, " renamed");
        ClickIn(editor.m_wndApply.m_hWnd);
        ASSERT_TRUE(PumpUntil([&] { return !EditorOpen(dlg); }));
        EXPECT_EQ("Tools renamed", pTools->Name);
        EXPECT_EQ(stored, pTools->Keywords);

        ClickGroupTool(dlg, ID_GROUP_EDIT);
        ASSERT_TRUE(PumpUntil([&] { return EditorOpen(dlg) && TextOf(editor.m_wndName) == "Tools renamed"; }));
        TypeInto(editor.m_wndKeywords, "alpha");
        for (UINT nAnswer : {IDNO, IDYES}) {
            const auto box = BoxAnswered(dlg, nAnswer, [&] { ClickIn(editor.m_wndApply.m_hWnd); });
            EXPECT_EQ("The keyword\r\n\r\n" + BoxNameLine(stored[0]) +
                          "\r\n\r\nholds a line break, and the editor shows each of its lines as a keyword of its "
                          "own: applied, the group keeps them as separate keywords.\r\n\r\nDo you want to apply the "
                          "group?",
                      box.second);
            if (nAnswer == IDNO) {
                EXPECT_TRUE(EditorOpen(dlg));
                EXPECT_EQ(stored, pTools->Keywords);
            }
        }
        EXPECT_TRUE(PumpUntil([&] { return !EditorOpen(dlg); }));
        EXPECT_EQ((std::vector<std::string>{"Corpus", "Reader", "alpha"}), pTools->Keywords);
    }));
    EXPECT_TRUE(TestApp().m_boxes.empty());
}

// Yes to the question whether to apply typing that has no name: a box says why, the
// typing stays in the editor with the focus in the empty Name field, and what asked (a
// click on another group, the window's close) goes no further.
TEST_F(MainWindowGroupsFileTest, YesToApplyTypingWithoutANameSaysWhyAndKeepsIt)
{
    const struct
    {
        const char* what;
        std::function<void(CPurgeletDlg&)> input;
    } cases[] = {
        {"a click on another group", [](CPurgeletDlg& dlg) { ClickGroup(dlg, "Media"); }},
        {"Alt+F4", [](CPurgeletDlg&) { TapWith(VK_MENU, VK_F4); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_TRUE(RunInNewGroup([&](CPurgeletDlg& dlg, CPageUninstallGroupEditor& editor) {
            TypeInto(editor.m_wndKeywords, "alpha");
            const HTREEITEM hCaret = Groups(dlg).m_wndTree.GetSelectedItem();

            const auto boxes = TwoBoxesAnswered(dlg, IDYES, IDOK, [&] { c.input(dlg); });
            EXPECT_EQ("The group editor holds changes that are not applied yet.\r\n\r\nDo you want to apply them?",
                      boxes.first);
            EXPECT_EQ("The group is not applied: it has no name.\r\n\r\nType a name and apply again.", boxes.second);

            mainwindowtest::Pump(200);
            EXPECT_TRUE(dlg.ContinueModal());
            EXPECT_TRUE(EditorOpen(dlg));
            EXPECT_EQ("", TextOf(editor.m_wndName));
            EXPECT_EQ("alpha", TextOf(editor.m_wndKeywords));
            EXPECT_TRUE(PumpUntil([&] { return ::GetFocus() == editor.m_wndName.m_hWnd; }));
            EXPECT_EQ(hCaret, Groups(dlg).m_wndTree.GetSelectedItem());
            EXPECT_EQ((std::vector<std::string>{"Tools", "Media"}), TreeGroups(dlg));
            EXPECT_FALSE(Exists(m_groupsFile));
        }, {{"Tools", "corpus"}, {"Media", "player"}}));
        EXPECT_TRUE(TestApp().m_boxes.empty());
    }
}

// Edit in the groups toolbar while the editor holds a new group's typing, Yes: the typing
// becomes a group (current, bold), and the editor shows the group Edit pointed at, which
// the tree highlights.
TEST_F(MainWindowGroupsFileTest, EditAfterYesHighlightsTheGroupTheEditorShows)
{
    AddGroup("Tools", "corpus");
    AddGroup("Media", "player");
    EXPECT_TRUE(Run([&](CPurgeletDlg& dlg) {
        ::SetForegroundWindow(dlg.m_hWnd);
        CPageUninstallGroupEditor& editor = dlg.m_pageUninstall.m_pageEditor;
        ClickGroup(dlg, "Media");
        ASSERT_TRUE(PumpUntil([&] { return GroupsState(dlg) == "1 of 6 programs found; highlighted Media; bold Media"; }))
            << GroupsState(dlg);
        ::NewGroup(dlg);
        TypeInto(editor.m_wndName, "cartoons");
        TypeInto(editor.m_wndKeywords, "alpha");

        const auto box = BoxAnswered(dlg, IDYES, [&] { ClickGroupTool(dlg, ID_GROUP_EDIT); });
        EXPECT_EQ("The group editor holds changes that are not applied yet.\r\n\r\nDo you want to apply them?",
                  box.second);
        EXPECT_TRUE(PumpUntil([&] { return EditorOpen(dlg) && TextOf(editor.m_wndName) == "Media"; }));
        EXPECT_EQ("1 of 6 programs found; highlighted Media; bold cartoons", GroupsState(dlg));
        EXPECT_EQ((std::vector<std::string>{"Tools", "Media", "cartoons"}), TreeGroups(dlg));
        EXPECT_NE(std::string::npos, GroupsFile().find("Name=\"cartoons\">\n<Keyword>alpha</Keyword>")) << GroupsFile();
    }));
    EXPECT_TRUE(TestApp().m_boxes.empty());
}

// The session ends (log-off, shut-down) while the editor holds typing; nothing is asked.
// Typing Apply would store goes into the groups file. Typing it would refuse (no name) is
// kept in the program's key and comes back in the editor at the next start, over the
// group it was typed for, ready to be applied. Nothing of it happens while the session
// only asks: an end called off leaves the typing in the editor, unapplied and not kept.
TEST_F(MainWindowGroupsFileTest, ASessionEndAppliesTheEditorsTypingOrKeepsItForTheNextStart)
{
    const struct
    {
        const char* what;
        const char* group;  // opened in the editor; NULL: New
        const char* name;   // typed over the name
        bool bEnds;         // the session ends, or the end is called off
        std::map<std::string, std::string> kept;
        std::vector<std::string> keywords;  // of the group applied at the end
    } cases[] = {
        {"a new group", NULL, "cartoons", true, {}, {"alpha"}},
        {"a new group without a name", NULL, "", true, {{"Name", Sz("")}, {"Keywords", Sz("alpha")}}, {"alpha"}},
        {"a group whose name was emptied", "Tools", "", true,
         {{"Group Id", Dw(2)},
          {"Name", Sz("")},
          {"Keywords", Sz("corpus\r\nalpha")},
          {"Opened Name", Sz("Tools")},
          {"Opened Keywords", Sz("corpus\r\n")}},
         {"corpus", "alpha"}},
        {"the end called off", NULL, "cartoons", false, {}, {}},
        {"the end called off, no name", NULL, "", false, {}, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ForgetGroups();
        AddGroup("Tools", "corpus");
        EXPECT_TRUE(Run([&](CPurgeletDlg& dlg) {
            ::SetForegroundWindow(dlg.m_hWnd);
            CPageUninstallGroupEditor& editor = dlg.m_pageUninstall.m_pageEditor;
            if (c.group != NULL) {
                OpenInEditor(dlg, c.group);
                EmptyField(editor.m_wndName);
            } else {
                ::NewGroup(dlg);
            }
            if (*c.name != '\0') TypeInto(editor.m_wndName, c.name);
            TypeInto(editor.m_wndKeywords, "alpha");

            // Asked, the session may still go on: the typing stays where it is.
            EXPECT_TRUE(SendSessionEnd(dlg, WM_QUERYENDSESSION, 0));
            EXPECT_TRUE(EditorOpen(dlg) && CUiManager::GetInstance()->IsGroupEditorTyped());
            EXPECT_FALSE(RegistrySandbox::KeyExists(HKEY_CURRENT_USER, kKeptTypingKey));
            EXPECT_FALSE(Exists(m_groupsFile)) << GroupsFile();
            SendSessionEnd(dlg, WM_ENDSESSION, c.bEnds);
            EXPECT_EQ(c.kept, mainwindowtest::StoredValues(kKeptTypingKey));
            EXPECT_EQ(c.kept.empty() && c.bEnds, !EditorOpen(dlg));
            EXPECT_EQ(c.kept.empty() && c.bEnds, Exists(m_groupsFile));
            if (!c.bEnds) {
                EXPECT_FALSE(RegistrySandbox::KeyExists(HKEY_CURRENT_USER, kKeptTypingKey));
                EXPECT_TRUE(CUiManager::GetInstance()->IsGroupEditorTyped());
                EXPECT_EQ("alpha", TextOf(editor.m_wndKeywords));
            }
            if (c.kept.empty() && c.bEnds) {
                EXPECT_NE(std::string::npos, GroupsFile().find("Name=\"cartoons\">\n<Keyword>alpha</Keyword>"))
                    << GroupsFile();
            }
        }));
        EXPECT_TRUE(TestApp().m_boxes.empty());
        if (c.kept.empty()) continue;

        // The next start: the editor shows the typing as it was left.
        EXPECT_TRUE(Run([&](CPurgeletDlg& dlg) {
            ::SetForegroundWindow(dlg.m_hWnd);
            CPageUninstallGroupEditor& editor = dlg.m_pageUninstall.m_pageEditor;
            GroupEntry* pTools = CGroupManager::GetInstance()->m_Groups[1];
            ASSERT_TRUE(PumpUntil([&] { return EditorOpen(dlg) && dlg.IsWindowVisible(); }));
            EXPECT_EQ(c.group != NULL ? pTools : NULL, editor.m_pGroup);
            EXPECT_EQ("", TextOf(editor.m_wndName));
            EXPECT_EQ(c.kept.at("Keywords"), Sz(TextOf(editor.m_wndKeywords)));
            EXPECT_TRUE(CUiManager::GetInstance()->IsGroupEditorTyped());
            EXPECT_FALSE(RegistrySandbox::KeyExists(HKEY_CURRENT_USER, kKeptTypingKey));

            TypeInto(editor.m_wndName, "kept");
            ClickIn(editor.m_wndApply.m_hWnd);
            EXPECT_TRUE(PumpUntil([&] { return !EditorOpen(dlg); }));
            const std::vector<GroupEntry*>& groups = CGroupManager::GetInstance()->m_Groups;
            ASSERT_EQ(c.group != NULL ? 2u : 3u, groups.size());
            EXPECT_EQ("kept", groups.back()->Name);
            EXPECT_EQ(c.keywords, groups.back()->Keywords);
        }));
        EXPECT_TRUE(TestApp().m_boxes.empty());
    }
}

// Typing a session's end kept for a group comes back at the next start into that group,
// found by its Id, however the groups were named meanwhile: never into another group of
// its name, nor as a new group beside it; into a new group only when it is gone. A group
// the file gave no Id has one written at that end, so that a group put before it
// meanwhile does not take its place. Everything else in the file stays node for node.
TEST_F(MainWindowGroupsFileTest, TypingKeptAtASessionsEndComesBackIntoItsOwnGroup)
{
    const auto file = GroupsFileOf;
    const auto group = GroupElement;
    auto id = [](int nId) { return "Id=\"" + std::to_string(nId) + "\""; };
    const std::string tools = group("Id=\"2\" Name=\"Tools\"", {"corpus"});
    const std::string kept = group("Id=\"3\" Name=\"kept\"", {"player", "alpha"});
    const struct
    {
        const char* what;
        std::string first;                                 // the file at the first start
        std::function<std::string(const std::string&)> between;  // the file made of it before the next
        bool bGone;                                        // the next start has no group of its Id
        std::function<std::string(int)> after;  // the file after Apply, given the Id the next start gave
    } cases[] = {
        {"names swapped", kTwoGroups,
         [&](const std::string&) {
             return file(group("Id=\"2\" Name=\"Media\"", {"corpus"}) + group("Id=\"3\" Name=\"Tools\"", {"player"}));
         },
         false, [&](int) { return file(group("Id=\"2\" Name=\"Media\"", {"corpus"}) + kept); }},
        {"one name twice", kTwoGroups,
         [&](const std::string&) {
             return file(group("Id=\"2\" Name=\"Media\"", {"corpus"}) + group("Id=\"3\" Name=\"Media\"", {"player"}));
         },
         false, [&](int) { return file(group("Id=\"2\" Name=\"Media\"", {"corpus"}) + kept); }},
        {"renamed", kTwoGroups,
         [&](const std::string&) { return file(tools + group("Id=\"3\" Name=\"Movies\"", {"player"})); }, false,
         [&](int) { return file(tools + kept); }},
        // What the other program changed and the typing did not stays: the keyword it added.
        {"renamed, a keyword added", kTwoGroups,
         [&](const std::string&) { return file(tools + group("Id=\"3\" Name=\"Movies\"", {"player", "k2"})); },
         false, [&](int) { return file(tools + group("Id=\"3\" Name=\"kept\"", {"player", "k2", "alpha"})); }},
        {"gone", kTwoGroups, [&](const std::string&) { return file(tools); }, true,
         [&](int nNew) { return file(tools + group(id(nNew) + " Name=\"kept\"", {"player", "alpha"})); }},
        {"a group the file gave no Id, another put before it",
         file(tools + group("Name=\"Media\"", {"player"})),
         [&](const std::string& written) {
             EXPECT_EQ(file(tools + group("Name=\"Media\" Id=\"3\"", {"player"})), written);
             return std::string(written).insert(written.find("<Group Name"), group("Name=\"Hand\"", {"hand"}));
         },
         false,
         [&](int nNew) {
             return file(tools + group("Name=\"Hand\" " + id(nNew), {"hand"}) +
                         group("Name=\"kept\" Id=\"3\"", {"player", "alpha"}));
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        WriteGroups(c.first);
        ClearGroups();
        EXPECT_TRUE(Run([&](CPurgeletDlg& dlg) {
            ::SetForegroundWindow(dlg.m_hWnd);
            CPageUninstallGroupEditor& editor = dlg.m_pageUninstall.m_pageEditor;
            OpenInEditor(dlg, "Media");
            EmptyField(editor.m_wndName);
            TypeInto(editor.m_wndKeywords, "alpha");
            EndSession(dlg, true);
            EXPECT_EQ((std::map<std::string, std::string>{{"Group Id", Dw(3)},
                                                          {"Name", Sz("")},
                                                          {"Keywords", Sz("player\r\nalpha")},
                                                          {"Opened Name", Sz("Media")},
                                                          {"Opened Keywords", Sz("player\r\n")}}),
                      mainwindowtest::StoredValues(kKeptTypingKey));
        }));
        WriteGroups(c.between(GroupsFile()));

        ClearGroups();
        int nNew = 0;
        EXPECT_TRUE(Run([&](CPurgeletDlg& dlg) {
            ::SetForegroundWindow(dlg.m_hWnd);
            CPageUninstallGroupEditor& editor = dlg.m_pageUninstall.m_pageEditor;
            CGroupManager* pGroups = CGroupManager::GetInstance();
            ASSERT_TRUE(PumpUntil([&] { return EditorOpen(dlg) && dlg.IsWindowVisible(); }));
            EXPECT_EQ(c.bGone ? NULL : pGroups->FindGroup(3), editor.m_pGroup);
            TypeInto(editor.m_wndName, "kept");
            ClickIn(editor.m_wndApply.m_hWnd);
            EXPECT_TRUE(PumpUntil([&] { return !EditorOpen(dlg); }));
            for (const GroupEntry* pGroup : pGroups->m_Groups) nNew = std::max(nNew, pGroup->Id);
        }));
        EXPECT_TRUE(TestApp().m_boxes.empty());
        const std::string expectedFile = m_groupsFile + ".expected";
        std::ofstream(expectedFile.c_str(), std::ios::binary) << c.after(nNew);
        EXPECT_EQ(xmlnodes::OfFile(expectedFile), xmlnodes::OfFile(m_groupsFile)) << GroupsFile();
        ::DeleteFileA(expectedFile.c_str());
    }
}

// Typing kept for a group of a file that another program holds at the next start comes
// back into that group once the file is read, not as a new group before it. An editor the
// user opened meanwhile is neither replaced nor asked about: the typing waits for the
// start after.
TEST_F(MainWindowGroupsFileTest, TypingKeptForAGroupOfAFileHeldAtTheStartComesBackOnceItIsRead)
{
    auto comesBack = [&](CPurgeletDlg& dlg) {
        CPageUninstallGroupEditor& editor = dlg.m_pageUninstall.m_pageEditor;
        ASSERT_TRUE(PumpUntil([&] { return EditorOpen(dlg); }));
        EXPECT_TRUE(editor.m_pGroup != NULL && editor.m_pGroup == CGroupManager::GetInstance()->FindGroup(3));
        EXPECT_EQ("", TextOf(editor.m_wndName));
        EXPECT_EQ("player\r\nalpha", TextOf(editor.m_wndKeywords));
        EXPECT_FALSE(RegistrySandbox::KeyExists(HKEY_CURRENT_USER, kKeptTypingKey));
    };
    for (const bool bOpened : {false, true}) {
        SCOPED_TRACE(bOpened ? "an editor opened meanwhile" : "no editor opened");
        WriteGroups(kTwoGroups);
        ClearGroups();
        TestApp().m_boxes.clear();
        ASSERT_TRUE(RegistrySandbox::SetDword(HKEY_CURRENT_USER, kKeptTypingKey, "Group Id", 3));
        ASSERT_TRUE(RegistrySandbox::SetString(HKEY_CURRENT_USER, kKeptTypingKey, "Name", ""));
        ASSERT_TRUE(RegistrySandbox::SetString(HKEY_CURRENT_USER, kKeptTypingKey, "Keywords", "player\r\nalpha"));
        HeldFile held(m_groupsFile, HeldFile::SharingNothing);
        ASSERT_TRUE(held.Hold());
        EXPECT_TRUE(Run([&](CPurgeletDlg& dlg) {
            ::SetForegroundWindow(dlg.m_hWnd);
            CPageUninstallGroupEditor& editor = dlg.m_pageUninstall.m_pageEditor;
            ASSERT_EQ(1u, Boxes(1).size()) << "the file is in use";
            EXPECT_FALSE(EditorOpen(dlg));
            if (bOpened) {
                ::NewGroup(dlg);
                TypeInto(editor.m_wndName, "mine");
            }
            held.Release();
            ASSERT_TRUE(held.Join());
            if (!bOpened) return comesBack(dlg);
            ownedbox::BoxWatcher box(dlg.m_hWnd, ownedbox::Press(IDNO));
            ASSERT_TRUE(PumpUntil([&] { return TreeGroups(dlg) == std::vector<std::string>{"Tools", "Media"}; }));
            mainwindowtest::Pump(1000);  // several turns of the kept typing's timer
            box.Stop();
            box.Join();
            EXPECT_FALSE(box.m_bFound) << box.m_text;
            EXPECT_TRUE(editor.m_pGroup == NULL && TextOf(editor.m_wndName) == "mine") << TextOf(editor.m_wndName);
            EXPECT_TRUE(RegistrySandbox::KeyExists(HKEY_CURRENT_USER, kKeptTypingKey));
        }));
        ClearGroups();
        if (bOpened) {
            EXPECT_TRUE(Run([&](CPurgeletDlg& dlg) { comesBack(dlg); }));
        }
        EXPECT_EQ(kTwoGroups, GroupsFile());
    }
}

// Typing kept for a group whose name the user left alone comes back over the name another
// program gave the group meanwhile: Apply stores the typing and leaves that rename.
TEST_F(MainWindowGroupsFileTest, KeptTypingThatLeftTheNameAloneKeepsAnotherProgramsRename)
{
    const std::string tools = GroupElement("Id=\"2\" Name=\"Tools\"", {"corpus"});
    WriteGroups(GroupsFileOf(tools + GroupElement("Id=\"3\" Name=\"Movies\"", {"player"})));
    ClearGroups();
    ASSERT_TRUE(RegistrySandbox::SetDword(HKEY_CURRENT_USER, kKeptTypingKey, "Group Id", 3));
    for (const char* name : {"Name", "Opened Name"})
        ASSERT_TRUE(RegistrySandbox::SetString(HKEY_CURRENT_USER, kKeptTypingKey, name, "Media"));
    ASSERT_TRUE(RegistrySandbox::SetString(HKEY_CURRENT_USER, kKeptTypingKey, "Keywords", "player\r\nalpha"));
    ASSERT_TRUE(RegistrySandbox::SetString(HKEY_CURRENT_USER, kKeptTypingKey, "Opened Keywords", "player\r\n"));
    EXPECT_TRUE(Run([&](CPurgeletDlg& dlg) {
        ::SetForegroundWindow(dlg.m_hWnd);
        CPageUninstallGroupEditor& editor = dlg.m_pageUninstall.m_pageEditor;
        ASSERT_TRUE(PumpUntil([&] { return EditorOpen(dlg) && dlg.IsWindowVisible(); }));
        EXPECT_EQ("Movies", TextOf(editor.m_wndName));
        EXPECT_EQ("player\r\nalpha", TextOf(editor.m_wndKeywords));
        ClickIn(editor.m_wndApply.m_hWnd);
        EXPECT_TRUE(PumpUntil([&] { return !EditorOpen(dlg); }));
    }));
    EXPECT_TRUE(TestApp().m_boxes.empty());
    ExpectFileNodes(GroupsFileOf(tools + GroupElement("Id=\"3\" Name=\"Movies\"", {"player", "alpha"})));
}

// Typing for Media when the session ends, after another program made Media a group this
// system's code page cannot show: the merge at the end takes the group away, and the
// typing is kept as a new group's, to come back as one at the next start, which says
// that the change to Media was not stored.
TEST_F(MainWindowGroupsFileTest, TypingWhoseGroupTheEndsMergeTakesAwayComesBackAsANewGroups)
{
    const std::string unshown = GroupsFileOf(GroupElement("Id=\"2\" Name=\"Tools\"", {"corpus"}) +
                                             GroupElement("Id=\"3\" Name=\"\xD0\x96\xD0\xB6\"", {"player"}));
    WriteGroups(kTwoGroups);
    EXPECT_TRUE(Run([&](CPurgeletDlg& dlg) {
        ::SetForegroundWindow(dlg.m_hWnd);
        CPageUninstallGroupEditor& editor = dlg.m_pageUninstall.m_pageEditor;
        OpenInEditor(dlg, "Media");
        TypeInto(editor.m_wndKeywords, "alpha");
        WriteGroups(unshown);
        EndSession(dlg, true);
        EXPECT_EQ((std::map<std::string, std::string>{{"Name", Sz("Media")}, {"Keywords", Sz("player\r\nalpha")}}),
                  mainwindowtest::StoredValues(kKeptTypingKey));
        // The process may end now: what is to be told is kept already.
        EXPECT_TRUE(RegistrySandbox::KeyExists(HKEY_CURRENT_USER, kUntoldKey));
    }));
    ClearGroups();
    EXPECT_TRUE(Run([&](CPurgeletDlg& dlg) {
        ::SetForegroundWindow(dlg.m_hWnd);
        CPageUninstallGroupEditor& editor = dlg.m_pageUninstall.m_pageEditor;
        ASSERT_TRUE(PumpUntil([&] { return EditorOpen(dlg) && dlg.IsWindowVisible(); }));
        ASSERT_EQ(1u, Boxes(1).size());
        EXPECT_NE(std::string::npos, TestApp().m_boxes[0].text.find("The changes made here to the group \"Media\" are "
                                                                    "not stored: another program changed it"))
            << TestApp().m_boxes[0].text;
        EXPECT_TRUE(mainwindowtest::StoredValues(kUntoldKey).empty()) << "told once";
        EXPECT_TRUE(editor.m_pGroup == NULL);
        EXPECT_EQ("Media", TextOf(editor.m_wndName));
        EXPECT_EQ("player\r\nalpha", TextOf(editor.m_wndKeywords));
        ClickIn(editor.m_wndApply.m_hWnd);
        EXPECT_TRUE(PumpUntil([&] { return !EditorOpen(dlg); }));
    }));
    ExpectFileNodes(std::string(unshown).insert(unshown.find("</Purgelet>"),
                                                GroupElement("Id=\"4\" Name=\"Media\"", {"player", "alpha"})));
}
