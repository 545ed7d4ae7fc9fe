// Keys act in the order they were typed, and input the program refuses leaves no command
// aimed at a program the user moved away from: through the real main window with real
// keys and clicks, the list's filter slowed on purpose where a long list is needed.
#include "main_window_fixture.h"
#include "app/input_rule.h"
#include "support/import_patch.h"
#include "support/message_pump.h"
#include "toolkit/menus/popup_menu_wnd.h"
#include <gtest/gtest.h>
#include <atomic>
#include <functional>
#include <thread>
#include <utility>
#include <vector>

using mainwindowtest::BarButton;
using mainwindowtest::ClickRow;
using mainwindowtest::FocusIn;
using mainwindowtest::List;
using mainwindowtest::MarkerLeft;
using mainwindowtest::PumpUntil;
using mainwindowtest::RowOf;
using mainwindowtest::SelectedRowText;
using realinput::ClickAt;
using realinput::SleepUntil;

namespace {

typedef unsigned char*(__cdecl* LowerFn)(unsigned char*);
LowerFn g_realLower = NULL;

// The filter lowers every name it looks at: 10 ms each make a re-filter of the test's
// list as long as one of a long list.
unsigned char* __cdecl SlowLower(unsigned char* text)
{
    ::Sleep(10);
    return g_realLower(text);
}

struct SlowFilter
{
    SlowFilter() { g_realLower = (LowerFn)testsupport::PatchImport("msvcrt.dll", "_mbslwr", (void*)&SlowLower); }
    ~SlowFilter() { testsupport::PatchImport("msvcrt.dll", "_mbslwr", (void*)g_realLower); }
};

std::vector<std::pair<WORD, WORD>> Letters(const char* text)
{
    std::vector<std::pair<WORD, WORD>> keys;
    for (; *text != '\0'; ++text) keys.push_back({0, (WORD)toupper((unsigned char)*text)});
    return keys;
}

// The centre of the list's nRow-th row, on the screen.
POINT RowCentre(CPurgeletDlg& dlg, int nRow)
{
    CRect rc;
    List(dlg).GetItemRect(nRow, &rc, LVIR_BOUNDS);
    CPoint pt(60, rc.CenterPoint().y);
    List(dlg).ClientToScreen(&pt);
    return pt;
}

class MainWindowInputOrderTest : public mainwindowtest::UninstallerFixture
{
protected:
    // A program whose uninstaller deletes its own key at once.
    void SeedSelfRemoving(const std::string& key, const char* name)
    {
        SeedEntry(key, name, m_uninstaller + " \"" + m_box.Path() + "\\HKCU\\" + UninstallKeyPath + key + "\"", "", "");
    }
    // Waits for the input and what it set off to be over: past the double-click time and
    // nothing left to handle.
    static void Settle()
    {
        EXPECT_TRUE(mainwindowtest::SettleInput());
        // A menu key on a greyed item leaves the menu open.
        if (CExtPopupMenuWnd::IsMenuTracking()) realinput::Tap(VK_ESCAPE);
        PumpUntil([] { return !CExtPopupMenuWnd::IsMenuTracking(); });
    }
};

}  // namespace

// Alpha selected, the search box gets "witness", then Tab, Down, Alt+A, U, 60 ms a key,
// while each re-filter takes longer than that: the Down moves to Beta, the next program
// of the filtered list, and the menu's Uninstall runs Beta's uninstaller, not Alpha's nor
// that of "Awful Tools", which only the first letter's list holds between them.
TEST_F(MainWindowInputOrderTest, KeysTypedWhileTheirReFilterRunsActInTurn)
{
    SeedSelfRemoving("Alpha", "Alpha Witness");
    SeedSelfRemoving("Beta", "Beta Witness");
    SeedWitness("Awful", "Awful Tools");
    SeedWitness("Gamma", "Gamma Tools");
    // Enough of them that each re-filter outlasts several keys.
    SeedFillers(20);
    EXPECT_TRUE(Run([&](CPurgeletDlg& dlg) {
        ClickRow(dlg, "Alpha Witness");
        ASSERT_TRUE(PumpUntil([&] { return SelectedRowText(dlg) == "Alpha Witness"; }));
        ASSERT_TRUE(FocusIn(dlg.m_pageUninstall.m_pageView.m_pageList.m_wndSearch));
        SlowFilter slow;
        std::vector<std::pair<WORD, WORD>> keys = Letters("witness");
        keys.insert(keys.end(), {{0, VK_TAB}, {0, VK_DOWN}, {VK_MENU, 'A'}, {0, 'U'}});
        std::atomic<bool> bTyped{false};
        std::thread hand([&] {
            realinput::TypePaced(keys);
            bTyped = true;
        });
        const bool bRan = PumpUntil([&] { return bTyped && (!EntryExists("Beta") || !EntryExists("Alpha")); }, 20000);
        hand.join();
        ASSERT_TRUE(bRan) << "no uninstaller ran";
        Settle();
        EXPECT_TRUE(EntryExists("Alpha"));
        EXPECT_FALSE(EntryExists("Beta"));
        EXPECT_FALSE(MarkerLeft()) << "Awful Tools' or Gamma's command ran";
    }));
}

// Alpha selected, "px" typed into the search box and right after, all in one go (input
// piles up while the window is busy), Alt+A, U, or a click on the toolbar's Uninstall
// and one more letter: the command finds the list filtered by "px", which shows no
// program, and runs nothing; Alpha, which "x" filtered out, is not uninstalled.
TEST_F(MainWindowInputOrderTest, ACommandRightAfterLettersFindsTheListFilteredByThem)
{
    SeedSelfRemoving("Alpha", "Alpha Tools");
    SeedWitness("Beta", "Beta Tools");
    const struct
    {
        const char* name;
        std::function<void(CPurgeletDlg&)> act;
        const char* text;
    } cases[] = {
        {"menu keys", [](CPurgeletDlg&) { realinput::TapKeys({{0, 'P'}, {0, 'X'}, {VK_MENU, 'A'}, {0, 'U'}}); }, "px"},
        {"toolbar click",
         [](CPurgeletDlg& dlg) {
             realinput::TapKeys({{0, 'P'}, {0, 'X'}});
             ClickAt(dlg.m_wndToolBar, BarButton(dlg.m_wndToolBar, ID_PROGRAM_UNINSTALL)->Rect().CenterPoint());
             realinput::Tap('Z');
         },
         "pxz"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_TRUE(Run([&](CPurgeletDlg& dlg) {
            ClickRow(dlg, "Alpha Tools");
            ASSERT_TRUE(PumpUntil([&] { return SelectedRowText(dlg) == "Alpha Tools"; }));
            ASSERT_TRUE(FocusIn(dlg.m_pageUninstall.m_pageView.m_pageList.m_wndSearch));
            c.act(dlg);
            Settle();
            EXPECT_EQ(c.text, mainwindowtest::TextOf(dlg.m_pageUninstall.m_pageView.m_pageList.m_wndSearch));
            EXPECT_EQ(0, List(dlg).GetItemCount());
            EXPECT_TRUE(EntryExists("Alpha")) << "the program the typed text filtered out ran";
            EXPECT_FALSE(MarkerLeft());
        }));
    }
}

// Alpha's uninstaller runs while Down is typed; when it ends, Downs typed on in the same
// go, then Alt+A, U, are dropped with it, also those that come after the list was read
// again: the dropped Down took the selection away, and nothing else runs.
TEST_F(MainWindowInputOrderTest, TheKeysOfABurstACommandDroppedGoWithIt)
{
    const char kEvent[] = "PurgeletInputOrderTest";
    HANDLE hEvent = ::CreateEventA(NULL, TRUE, FALSE, kEvent);
    SeedEntry("Alpha", "Alpha Tools",
              m_uninstaller + " \"" + m_box.Path() + "\\HKCU\\" + UninstallKeyPath + "NoSuchProgram\" " + kEvent, "",
              "");
    for (const char* key : {"Beta", "Gamma", "Delta"}) SeedWitness(key, (std::string(key) + " Tools").c_str());
    EXPECT_TRUE(Run([&](CPurgeletDlg& dlg) {
        const HWND hDlg = dlg.m_hWnd;
        ClickRow(dlg, "Alpha Tools");
        ASSERT_TRUE(PumpUntil([&] { return SelectedRowText(dlg) == "Alpha Tools"; }));
        ASSERT_TRUE(FocusIn(List(dlg)));
        std::atomic<bool> bTyped{false};
        std::thread hand([&] {
            SleepUntil([&] { return !::IsWindowEnabled(hDlg); }, 20000);
            // The Down is made, and stamped, while the command runs: the run may end at once,
            // between it and the next key of the go.
            realinput::Tap(VK_DOWN);
            ::SetEvent(hEvent);
            while (!::IsWindowEnabled(hDlg)) realinput::TypePaced({{0, VK_DOWN}});
            realinput::TypePaced({{0, VK_DOWN}, {0, VK_DOWN}, {0, VK_DOWN}, {0, VK_DOWN}, {VK_MENU, 'A'}, {0, 'U'}});
            bTyped = true;
        });
        ::PostMessageA(hDlg, WM_COMMAND, ID_PROGRAM_UNINSTALL, 0);
        const bool bDone = PumpUntil([&] { return bTyped.load(); }, 20000);
        hand.join();
        ASSERT_TRUE(bDone);
        Settle();
        EXPECT_EQ("", SelectedRowText(dlg));
        EXPECT_FALSE(MarkerLeft()) << "a key after the command acted";
    }));
    ::SetEvent(hEvent);
    ::CloseHandle(hEvent);
}

// Alpha's uninstaller waits until the hand has seen it run; then keys stamped by the time
// they were made around the end of the run (E): made before it and taken off the queue
// after it, a key or a menu key is dropped and starts a burst; the keys typed on in the
// same go, each within the double-click time of the one before, go with it, carried by
// plain and menu keys alike, however long the go. Alpha ran once and nothing else.
TEST_F(MainWindowInputOrderTest, KeysAroundTheEndOfACommandGoAsOneBurst)
{
    const char kEvent[] = "PurgeletInputBurstTest";
    HANDLE hEvent = ::CreateEventA(NULL, TRUE, FALSE, kEvent);
    const WORD kAlt = VK_MENU;
    struct Key
    {
        int nAt;  // ms after the end of the run
        WORD vkModifier, vk;
    };
    const struct
    {
        const char* name;
        bool bSearch;  // the focus in the search box (else in the list)
        std::vector<Key> keys;
    } cases[] = {
        {"a letter made before the end, then Tab, Down, Alt+A, U", true,
         {{-1, 0, 'X'}, {300, 0, VK_TAB}, {360, 0, VK_DOWN}, {420, kAlt, 'A'}, {480, 0, 'U'}}},
        {"a menu key made before the end, then Down, Alt+A, U", false,
         {{-1, kAlt, 'A'}, {300, 0, VK_DOWN}, {360, kAlt, 'A'}, {420, 0, 'U'}}},
        {"a menu key carries the burst on", false,
         {{-1, 0, VK_DOWN}, {400, kAlt, 'A'}, {800, 0, VK_DOWN}, {860, kAlt, 'A'}, {920, 0, 'U'}}},
        {"Downs carry the burst on", false,
         {{-1, 0, VK_DOWN}, {350, 0, VK_DOWN}, {700, 0, VK_DOWN}, {1050, 0, VK_DOWN}, {1400, 0, VK_DOWN},
          {1460, kAlt, 'A'}, {1520, 0, 'U'}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ::ResetEvent(hEvent);
        ::DeleteFileA(mainwindowtest::WitnessLogPath().c_str());
        SeedLogging("Alpha", "Alpha Tools", kEvent);
        for (const char* key : {"Beta", "Gamma"}) SeedLogging(key, (std::string(key) + " Tools").c_str(), "0");
        EXPECT_TRUE(Run([&](CPurgeletDlg& dlg) {
            const HWND hDlg = dlg.m_hWnd;
            CExtEditWithIcon& search = dlg.m_pageUninstall.m_pageView.m_pageList.m_wndSearch;
            ClickRow(dlg, "Alpha Tools");
            ASSERT_TRUE(PumpUntil([&] { return SelectedRowText(dlg) == "Alpha Tools"; }));
            ASSERT_TRUE(FocusIn(c.bSearch ? search.m_hWnd : List(dlg).m_hWnd));
            std::atomic<bool> bTyped{false};
            std::thread hand([&] {
                if (SleepUntil([&] { return !::IsWindowEnabled(hDlg); }, 20000)) {
                    ::SetEvent(hEvent);
                    SleepUntil([&] { return ::IsWindowEnabled(hDlg) != FALSE; }, 20000);
                    // Set before the window takes input again.
                    const DWORD dwEnd = (DWORD)CInputRule::RunEnded();
                    for (const Key& key : c.keys) {
                        const DWORD dwAt = dwEnd + (DWORD)key.nAt;
                        SleepUntil([&] { return (LONG)(::GetTickCount() - dwAt) >= 0; });
                        realinput::TapAtTime(key.vkModifier, key.vk, dwAt);
                    }
                }
                bTyped = true;
            });
            ::PostMessageA(hDlg, WM_COMMAND, ID_PROGRAM_UNINSTALL, 0);
            const bool bDone = PumpUntil([&] { return bTyped.load(); }, 20000);
            hand.join();
            ASSERT_TRUE(bDone);
            Settle();
            EXPECT_EQ("", mainwindowtest::TextOf(search));
            EXPECT_EQ("Alpha Tools\n", mainwindowtest::WitnessLog());
            EXPECT_EQ("", SelectedRowText(dlg));
        }));
    }
    ::SetEvent(hEvent);
    ::CloseHandle(hEvent);
}

// A word typed into the search box in one go, its letters queued before the first is
// handled, filters the list once, by the whole word.
TEST_F(MainWindowInputOrderTest, AWordTypedInOneGoFiltersTheListOnce)
{
    SeedWitness("Gamma", "Gamma Tools");
    SeedFillers(10);
    mainwindowtest::RefillWatch refills;
    EXPECT_TRUE(Run([&](CPurgeletDlg& dlg) {
        ASSERT_TRUE(FocusIn(dlg.m_pageUninstall.m_pageView.m_pageList.m_wndSearch));
        const size_t nRefills = refills.Count(List(dlg).m_hWnd);
        realinput::TapKeys({{0, 'G'}, {0, 'A'}, {0, 'M'}, {0, 'M'}, {0, 'A'}});
        Settle();
        EXPECT_EQ("gamma", mainwindowtest::TextOf(dlg.m_pageUninstall.m_pageView.m_pageList.m_wndSearch));
        EXPECT_EQ(1, List(dlg).GetItemCount());
        EXPECT_EQ(nRefills + 1, refills.Count(List(dlg).m_hWnd));
    }));
}

// A click on a column header sorts the rows the other way while the list does not
// redraw; a click on the first row once it has stood still for the double-click time
// selects the program that moved there.
TEST_F(MainWindowInputOrderTest, AClickWellAfterASortOnARowThatChangedIsTaken)
{
    for (const char* key : {"Alpha", "Beta", "Gamma"}) SeedWitness(key, (std::string(key) + " Tools").c_str());
    EXPECT_TRUE(Run([&](CPurgeletDlg& dlg) {
        CRect rcHeader;
        List(dlg).GetHeaderCtrl()->GetItemRect(0, &rcHeader);
        List(dlg).GetHeaderCtrl()->ClientToScreen(&rcHeader);
        const POINT ptFirst = RowCentre(dlg, 0);
        mainwindowtest::WaitUntilListTakesClicks();
        ClickAt(rcHeader.CenterPoint());
        ASSERT_TRUE(PumpUntil([&] { return RowOf(dlg, "Gamma Tools") == 0; }));
        EXPECT_TRUE(mainwindowtest::SettleInput());
        ClickAt(ptFirst);
        EXPECT_TRUE(PumpUntil([&] { return SelectedRowText(dlg) == "Gamma Tools"; }));
    }));
}

// Alpha selected; "t" typed into the search box moves Charlie up into Bravo's row, and a
// click there at once is refused and takes the selection away, so the toolbar's
// Uninstall runs nothing. Then "o" leaves every row where it was, and a click at once on
// Charlie's row selects Charlie.
TEST_F(MainWindowInputOrderTest, AClickAtOnceAfterAReFilterActsOnlyOnARowThatStoodStill)
{
    SeedSelfRemoving("Alpha", "Alpha Tools");
    SeedWitness("Bravo", "Bravo");
    SeedWitness("Charlie", "Charlie Tools");
    SeedWitness("Delta", "Delta Tools");
    EXPECT_TRUE(Run([&](CPurgeletDlg& dlg) {
        ClickRow(dlg, "Alpha Tools");
        ASSERT_TRUE(PumpUntil([&] { return SelectedRowText(dlg) == "Alpha Tools"; }));
        const POINT ptSecond = RowCentre(dlg, 1);
        ASSERT_TRUE(FocusIn(dlg.m_pageUninstall.m_pageView.m_pageList.m_wndSearch));
        realinput::Tap('T');
        ClickAt(ptSecond);
        Settle();
        EXPECT_EQ(1, RowOf(dlg, "Charlie Tools"));
        EXPECT_EQ("", SelectedRowText(dlg));
        EXPECT_TRUE(CUiManager::GetInstance()->GetTargetProgram() == NULL);
        ClickAt(dlg.m_wndToolBar, BarButton(dlg.m_wndToolBar, ID_PROGRAM_UNINSTALL)->Rect().CenterPoint());
        Settle();
        EXPECT_TRUE(EntryExists("Alpha"));
        EXPECT_FALSE(MarkerLeft());

        ASSERT_TRUE(FocusIn(dlg.m_pageUninstall.m_pageView.m_pageList.m_wndSearch));
        realinput::Tap('O');
        ClickAt(ptSecond);
        EXPECT_TRUE(PumpUntil([&] { return SelectedRowText(dlg) == "Charlie Tools"; }));
        EXPECT_EQ("to", mainwindowtest::TextOf(dlg.m_pageUninstall.m_pageView.m_pageList.m_wndSearch));
    }));
}

// "t" typed into the search box moves Charlie up into Bravo's row; a double-click there
// whose first half comes at once (refused: aimed at Bravo) and whose second comes when
// the row has stood still for the double-click time is refused with its first half: it
// neither selects Charlie nor runs a command. The halves carry the times they stand for.
TEST_F(MainWindowInputOrderTest, TheSecondHalfOfADoubleClickGoesWithARefusedFirstHalf)
{
    SeedWitness("Alpha", "Alpha Tools");
    SeedWitness("Bravo", "Bravo");
    SeedWitness("Charlie", "Charlie Tools");
    EXPECT_TRUE(Run([&](CPurgeletDlg& dlg) {
        const POINT ptSecond = RowCentre(dlg, 1);
        CExtEditWithIcon& search = dlg.m_pageUninstall.m_pageView.m_pageList.m_wndSearch;
        const DWORD dwDouble = ::GetDoubleClickTime();
        // The rows change between the two readings of the clock: when exactly is not
        // known, so the readings must lie close together (a machine that stalls the
        // thread longer in between is given another try).
        DWORD dwBefore = 0, dwAfter = dwDouble;
        for (int nTry = 0; nTry < 5 && dwAfter - dwBefore >= dwDouble / 4; ++nTry) {
            mainwindowtest::WaitUntilListTakesClicks();
            const bool bFilter = nTry % 2 == 0;
            dwBefore = ::GetTickCount();
            search.SetWindowText(bFilter ? "t" : "");
            dwAfter = ::GetTickCount();
            if (!bFilter) dwAfter = dwBefore + dwDouble;
        }
        ASSERT_LT(dwAfter - dwBefore, dwDouble / 4) << "the rows never changed at a time known closely enough";
        ASSERT_EQ(1, RowOf(dlg, "Charlie Tools"));
        // The first half soon after the change; the second, within the double-click time
        // of it, once the change is that time old.
        const DWORD dwFirst = dwAfter + 1, dwSecond = dwFirst + dwDouble - 1;
        realinput::ClickAtTime(ptSecond, dwFirst);
        ASSERT_TRUE(PumpUntil([&] { return ::GetTickCount() - dwSecond < 0x80000000u; }));
        realinput::ClickAtTime(ptSecond, dwSecond);
        Settle();
        EXPECT_EQ("", SelectedRowText(dlg));
        EXPECT_FALSE(MarkerLeft()) << "a double-click ran a command";
    }));
}

// A double-click on the partly shown last row: the first click scrolls it into view, and
// the second, on the row that moved under the pointer, is refused with the selection, so
// the toolbar's Uninstall runs nothing.
TEST_F(MainWindowInputOrderTest, ADoubleClickOnAPartlyShownRowRunsNothing)
{
    SeedFillers(60);
    EXPECT_TRUE(Run([&](CPurgeletDlg& dlg) {
        CExtReportCtrl& list = List(dlg);
        CRect rcClient, rcRow;
        list.GetClientRect(&rcClient);
        int nRow = list.GetTopIndex() + list.GetCountPerPage();
        list.GetItemRect(nRow, &rcRow, LVIR_BOUNDS);
        // Half of the row below the whole ones shows.
        CRect rcDlg;
        dlg.GetWindowRect(&rcDlg);
        dlg.SetWindowPos(NULL, 0, 0, rcDlg.Width(), rcDlg.Height() + (rcRow.CenterPoint().y - rcClient.bottom),
                         SWP_NOMOVE | SWP_NOZORDER);
        list.GetClientRect(&rcClient);
        nRow = list.GetTopIndex() + list.GetCountPerPage();
        list.GetItemRect(nRow, &rcRow, LVIR_BOUNDS);
        ASSERT_LT(rcRow.top + 2, rcClient.bottom);
        ASSERT_GT(rcRow.bottom, rcClient.bottom);
        mainwindowtest::WaitUntilListTakesClicks();
        CPoint pt(60, (rcRow.top + rcClient.bottom) / 2);
        list.ClientToScreen(&pt);
        ClickAt(pt);
        ClickAt(pt);
        Settle();
        EXPECT_EQ("", SelectedRowText(dlg));
        ClickAt(dlg.m_wndToolBar, BarButton(dlg.m_wndToolBar, ID_PROGRAM_UNINSTALL)->Rect().CenterPoint());
        Settle();
        EXPECT_FALSE(MarkerLeft()) << "a program the user never saw was uninstalled";
    }));
}

// A double-click whose halves fall on either side of the border between Alpha and Beta: no double-click on either, so nothing runs; the second half is a click on Beta.
TEST_F(MainWindowInputOrderTest, ADoubleClickAcrossTwoRowsRunsNothing)
{
    for (const char* key : {"Alpha", "Beta", "Gamma"}) SeedWitness(key, (std::string(key) + " Tools").c_str());
    EXPECT_TRUE(Run([&](CPurgeletDlg& dlg) {
        CRect rc;
        List(dlg).GetItemRect(RowOf(dlg, "Alpha Tools"), &rc, LVIR_BOUNDS);
        ASSERT_EQ(RowOf(dlg, "Alpha Tools") + 1, RowOf(dlg, "Beta Tools"));
        mainwindowtest::WaitUntilListTakesClicks();
        ClickAt(List(dlg), CPoint(60, rc.bottom - 1));
        ClickAt(List(dlg), CPoint(60, rc.bottom));
        Settle();
        EXPECT_EQ("Beta Tools", SelectedRowText(dlg));
        EXPECT_FALSE(MarkerLeft()) << "a double-click ran a command";
    }));
}

// A click on a column header sorts the rows the other way; a right-click at once on a row
// that moved is refused, and its release opens no menu.
TEST_F(MainWindowInputOrderTest, ARefusedRightClickOpensNoMenu)
{
    for (const char* key : {"Alpha", "Beta", "Gamma"}) SeedWitness(key, (std::string(key) + " Tools").c_str());
    EXPECT_TRUE(Run([&](CPurgeletDlg& dlg) {
        CHeaderCtrl* pHeader = List(dlg).GetHeaderCtrl();
        CRect rcHeader;
        pHeader->GetItemRect(0, &rcHeader);
        pHeader->ClientToScreen(&rcHeader);
        const POINT ptRow = RowCentre(dlg, 0);
        mainwindowtest::WaitUntilListTakesClicks();
        ClickAt(rcHeader.CenterPoint());
        realinput::SendMouse(MOUSEEVENTF_RIGHTDOWN, ptRow);
        realinput::SendMouse(MOUSEEVENTF_RIGHTUP, ptRow);
        EXPECT_TRUE(mainwindowtest::SettleInput());
        EXPECT_EQ(0, RowOf(dlg, "Gamma Tools"));
        EXPECT_FALSE(CExtPopupMenuWnd::IsMenuTracking());
        EXPECT_EQ("", SelectedRowText(dlg));
        Settle();
    }));
}

// A box that closed: a click at once on a row the box never covered selects it.
TEST_F(MainWindowInputOrderTest, AClickAtOnceOnARowNoBoxCoveredIsTaken)
{
    // The list alone fills the window.
    ASSERT_TRUE(testsupport::RegistrySandbox::SetString(HKEY_CURRENT_USER, mainwindowtest::kOptionsKey, "ShowCats",
                                                        "FALSE"));
    ASSERT_TRUE(testsupport::RegistrySandbox::SetString(HKEY_CURRENT_USER, mainwindowtest::kOptionsKey,
                                                        "ShowDetails", "FALSE"));
    SeedFillers(40);
    EXPECT_TRUE(Run([&](CPurgeletDlg& dlg) {
        // Tall, so that the box, in the middle, leaves rows uncovered.
        dlg.SetWindowPos(NULL, 0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN) - 40,
                         SWP_NOZORDER);
        // The panes follow the window's size a moment later.
        ASSERT_TRUE(PumpUntil([&] { return List(dlg).GetCountPerPage() >= 25; }));
        mainwindowtest::WaitUntilListTakesClicks();
        std::vector<POINT> rows;
        for (int i = 0; i < List(dlg).GetCountPerPage(); ++i) rows.push_back(RowCentre(dlg, i));
        std::atomic<int> nClicked{-1};
        const HWND hDlg = dlg.m_hWnd;
        ownedbox::BoxWatcher options(dlg.m_hWnd, [&](HWND hBox) {
            CRect rcBox;
            ::GetWindowRect(hBox, &rcBox);
            ownedbox::Press(IDCANCEL)(hBox);
            // Once the main window takes input again: behind the box it takes none.
            SleepUntil([&] { return !::IsWindow(hBox) && ::IsWindowEnabled(hDlg); }, 2000);
            for (size_t i = 0; i < rows.size() && nClicked < 0; ++i) {
                if (rcBox.PtInRect(rows[i])) continue;
                nClicked = (int)i;
                // The pointer goes there first: a click follows wherever the system has it.
                realinput::SendMouse(0, rows[i]);
                SleepUntil([&] { return realinput::CursorAt(rows[i]); });
                ClickAt(rows[i]);
            }
        });
        ::PostMessageA(dlg.m_hWnd, WM_COMMAND, ID_VIEW_OPTIONS, 0);
        ASSERT_TRUE(PumpUntil([&] { return options.m_bFound && ownedbox::FindOpenBox(dlg.m_hWnd) == NULL; }, 20000));
        options.Join();
        ASSERT_GE(nClicked, 0) << "the box covered every row";
        char name[32];
        wsprintfA(name, "Filler %02d", nClicked.load());
        EXPECT_TRUE(PumpUntil([&] { return SelectedRowText(dlg) == name; }));
    }));
}

// The rule's times never wrap: a click 24.9 days and more after a change is taken, one
// made across the 32-bit wrap of the tick count is measured across it.
TEST(InputRuleTimes, TimesAreMeasuredAcrossTheWrapOfTheTickCount)
{
    const ULONGLONG ullWrap = 0x100000000ull;
    EXPECT_EQ(ullWrap + 0x10, CInputRule::InputTime(0x10, ullWrap + 0x100));
    EXPECT_EQ(ullWrap - 0x10, CInputRule::InputTime(0xFFFFFFF0u, ullWrap + 0x100));
    // A time ahead of the clock counts as now.
    EXPECT_EQ(ullWrap + 0x100, CInputRule::InputTime(0x200, ullWrap + 0x100));
    const ULONGLONG ullChange = ullWrap - 100, ullDays = 25ull * 24 * 60 * 60 * 1000;
    const ULONGLONG ullDouble = ::GetDoubleClickTime();
    const struct
    {
        ULONGLONG ullInput;
        bool bSoon;
    } cases[] = {{ullChange - 1, true},
                 {ullChange + ullDouble - 1, true},
                 {ullChange + ullDouble, false},
                 {ullChange + ullDays, false},
                 {ullChange + 2 * ullDays, false}};
    for (const auto& c : cases) EXPECT_EQ(c.bSoon, CInputRule::SoonAfter(c.ullInput, ullChange)) << c.ullInput;
    EXPECT_FALSE(CInputRule::SoonAfter(ullChange, 0));
}
