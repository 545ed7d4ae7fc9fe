// Where the program's commands come from and when they are refused, driven through the
// real main dialog with real keys and clicks: the context menu asked for from the
// keyboard opens by the program it acts on (or, with none, greyed at the list's top
// left), the column header opens no program menu, nothing posted to a pane or to the
// main window itself acts behind a box, Add to Group needs a program, and the group editor's caption closes it through
// the mediator.
#include "main_window_fixture.h"
#include "owned_box.h"
#include "app/page_uninstall_groups.h"
#include "app/ui_manager.h"
#include "catalogue/groups.h"
#include "catalogue/program_entry.h"
#include "framework/afxres.h"
#include "res/resource.h"
#include "support/message_pump.h"
#include "support/registry_sandbox.h"
#include "toolkit/menus/popup_menu_wnd.h"
#include <gtest/gtest.h>
#include <atomic>
#include <cstdio>
#include <string>

using mainwindowtest::ClipboardText;
using mainwindowtest::CommandEnabled;
using mainwindowtest::FocusIn;
using mainwindowtest::List;
using mainwindowtest::MoveTo;
using mainwindowtest::PumpUntil;
using mainwindowtest::RowOf;
using mainwindowtest::SelectedRowText;
using mainwindowtest::SetClipboard;
using mainwindowtest::Status;
using ownedbox::BoxWatcher;
using ownedbox::FindOpenBox;
using realinput::ClickAt;
using realinput::Tap;
using realinput::TapWith;

namespace {

// A row's rectangle on the screen.
CRect RowOnScreen(CPurgeletDlg& dlg, int nRow)
{
    CRect rc;
    List(dlg).GetItemRect(nRow, &rc, LVIR_BOUNDS);
    List(dlg).ClientToScreen(&rc);
    return rc;
}

// The list's rows area on the screen: its client area below the header.
CRect RowsAreaOnScreen(CPurgeletDlg& dlg)
{
    CRect rcClient, rcHeader;
    List(dlg).GetClientRect(&rcClient);
    List(dlg).ClientToScreen(&rcClient);
    List(dlg).GetHeaderCtrl()->GetWindowRect(&rcHeader);
    rcClient.top = rcHeader.bottom;
    return rcClient;
}

// A row lies whole inside the rows area.
bool RowShown(CPurgeletDlg& dlg, int nRow)
{
    CRect rcRow = RowOnScreen(dlg, nRow), rcRows = RowsAreaOnScreen(dlg);
    return rcRow.top >= rcRows.top && rcRow.bottom <= rcRows.bottom;
}

// A click on a row, nX pixels from its left: two clicks on one spot in a row would make a
// double-click.
void ClickRow(CPurgeletDlg& dlg, const char* name, int nX = 40)
{
    mainwindowtest::WaitUntilListTakesClicks();
    CRect rc = RowOnScreen(dlg, RowOf(dlg, name));
    realinput::ClickAt(CPoint(rc.left + nX, rc.CenterPoint().y));
}

// The mouse wheel turned by whole notches (positive: away from the user, up the list)
// for the list, which has the focus; answers once the list has scrolled as far as it goes
// that way or the turn is handled.
void Wheel(CPurgeletDlg& dlg, int nNotches)
{
    // The wheel turns the window under the pointer (or the focus, by platform): the
    // pointer is put over the rows first, wherever an earlier test left it.
    MoveTo(RowsAreaOnScreen(dlg).CenterPoint());
    INPUT in = {};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = MOUSEEVENTF_WHEEL;
    in.mi.mouseData = (DWORD)(nNotches * WHEEL_DELTA);
    ::SendInput(1, &in, sizeof(INPUT));
    CExtReportCtrl& list = List(dlg);
    PumpUntil([&] {
        return nNotches > 0 ? list.GetTopIndex() == 0
                            : list.GetTopIndex() + list.GetCountPerPage() >= list.GetItemCount();
    });
}

CExtPopupMenuWnd* OpenMenu()
{
    if (!PumpUntil([] { return CExtPopupMenuWnd::IsMenuTracking(); })) return NULL;
    CExtPopupMenuWnd* pMenu = CExtPopupMenuWnd::GetTrackingMenu();
    // Placed and shown: its window stands where it opened.
    PumpUntil([&] { return pMenu != NULL && pMenu->GetSafeHwnd() != NULL && pMenu->IsWindowVisible(); });
    return pMenu;
}

void CloseMenu()
{
    Tap(VK_ESCAPE);
    PumpUntil([] { return !CExtPopupMenuWnd::IsMenuTracking(); });
    if (CExtPopupMenuWnd::IsMenuTracking()) CExtPopupMenuWnd::CancelMenuTracking();
}

// The enabled state of the menu's item that sends nID.
bool MenuItemEnabled(CExtPopupMenuWnd* pMenu, UINT nID)
{
    for (int i = 0; i < pMenu->ItemGetCount(); ++i)
        if (pMenu->ItemGetCmdID(i) == nID) return pMenu->ItemGetInfo(i).IsEnabled();
    ADD_FAILURE() << "no menu item " << nID;
    return false;
}

// The commands that act on one program, greyed without one.
const UINT kProgramCommands[] = {ID_PROGRAM_UNINSTALL,    ID_PROGRAM_UNINSTALL_QUIET, ID_PROGRAM_MODIFY,
                                 ID_PROGRAM_REMOVE_ENTRY, ID_PROGRAM_ADD_TO_GROUP,    ID_PROGRAM_OPEN_FOLDER};

// How a menu is asked for from the keyboard.
struct MenuKey
{
    const char* name;
    WORD vkModifier, vk;
};
const MenuKey kMenuKeys[] = {{"Shift+F10", VK_SHIFT, VK_F10}, {"Menu key", 0, VK_APPS}};

class MainWindowRoutingTest : public mainwindowtest::CommandsFixture
{
protected:
    void TearDown() override
    {
        if (CExtPopupMenuWnd::IsMenuTracking()) CExtPopupMenuWnd::CancelMenuTracking();
        CommandsFixture::TearDown();
    }
};

}  // namespace

// Shift+F10 and the Menu key open the program menu by the selected row, scrolled back
// into view, not at the pointer resting over another row. With no row selected they
// open it at the top left of the list's rows with the program commands greyed.
TEST_F(MainWindowRoutingTest, TheKeyboardOpensTheProgramMenuByTheSelectedRowOrGreyedAtTheTopLeft)
{
    for (int i = 0; i < 60; ++i) {
        char key[16], name[32];
        sprintf(key, "P%02d", i);
        sprintf(name, "Program %02d", i);
        SeedUnrunnable(key, name);
    }
    CGroupManager::GetInstance()->CreateGroup()->Name = "Media";
    EXPECT_TRUE(Run([&](CPurgeletDlg& dlg) {
        ASSERT_TRUE(FocusIn(List(dlg)));
        ASSERT_EQ(60, List(dlg).GetItemCount());
        for (const MenuKey& key : kMenuKeys) {
            SCOPED_TRACE(key.name);
            // The last program picked at the bottom of the list, then the list wheeled
            // back to its top: the row is out of sight, the pointer over another row.
            Wheel(dlg, -30);
            ASSERT_TRUE(RowShown(dlg, 59));
            ClickRow(dlg, "Program 59", &key == kMenuKeys ? 40 : 80);
            ASSERT_TRUE(PumpUntil([&] { return SelectedRowText(dlg) == "Program 59"; }));
            Wheel(dlg, 30);
            ASSERT_EQ(0, List(dlg).GetTopIndex());
            ASSERT_FALSE(RowShown(dlg, 59));
            const CRect rcTopRow = RowOnScreen(dlg, 1);
            MoveTo(CPoint(rcTopRow.left + 60, rcTopRow.CenterPoint().y));

            TapWith(key.vkModifier, key.vk);
            CExtPopupMenuWnd* pMenu = OpenMenu();
            ASSERT_TRUE(pMenu != NULL) << "no menu";
            EXPECT_TRUE(RowShown(dlg, 59));
            CRect rcMenu, rcRow = RowOnScreen(dlg, 59);
            pMenu->GetWindowRect(&rcMenu);
            // The menu stands on the row: it opens from a point of the row downwards, or
            // upwards where the screen has no room below.
            const bool bOnRow = (rcMenu.top >= rcRow.top && rcMenu.top < rcRow.bottom) ||
                                (rcMenu.bottom > rcRow.top && rcMenu.bottom <= rcRow.bottom);
            EXPECT_TRUE(bOnRow) << "menu " << rcMenu.top << ".." << rcMenu.bottom << " row " << rcRow.top << ".."
                                << rcRow.bottom;
            EXPECT_TRUE(rcMenu.left >= rcRow.left && rcMenu.left < rcRow.right) << rcMenu.left;
            for (UINT nID : kProgramCommands) EXPECT_TRUE(MenuItemEnabled(pMenu, nID)) << nID;
            CloseMenu();
            EXPECT_EQ("Program 59", SelectedRowText(dlg));

            // A search that leaves the program out takes its selection away, and the
            // search cleared brings every row back with none selected; Tab goes back
            // to the list. With no row selected: the rows' top left, the program
            // commands greyed.
            CExtEditWithIcon& search = dlg.m_pageUninstall.m_pageView.m_pageList.m_wndSearch;
            ASSERT_TRUE(FocusIn(search));
            realinput::Type("zz");
            ASSERT_TRUE(PumpUntil([&] { return List(dlg).GetItemCount() == 0; }));
            realinput::TapKeys({{0, VK_BACK}, {0, VK_BACK}});
            ASSERT_TRUE(PumpUntil([&] { return List(dlg).GetItemCount() == 60; }));
            Tap(VK_TAB);
            ASSERT_TRUE(PumpUntil([&] { return ::GetFocus() == List(dlg).GetSafeHwnd(); }));
            ASSERT_EQ("", SelectedRowText(dlg));
            ASSERT_TRUE(CUiManager::GetInstance()->GetSelectedProgram() == NULL);
            TapWith(key.vkModifier, key.vk);
            pMenu = OpenMenu();
            ASSERT_TRUE(pMenu != NULL) << "no menu without a selection";
            pMenu->GetWindowRect(&rcMenu);
            const CRect rcRows = RowsAreaOnScreen(dlg);
            EXPECT_EQ(rcRows.TopLeft(), rcMenu.TopLeft());
            for (UINT nID : kProgramCommands) EXPECT_FALSE(MenuItemEnabled(pMenu, nID)) << nID;
            EXPECT_TRUE(MenuItemEnabled(pMenu, ID_VIEW_DETAILS));
            CloseMenu();
        }
    }));
}

// A right-click on a row opens the program menu; one on the column header does not.
TEST_F(MainWindowRoutingTest, ARightClickOnTheColumnHeaderOpensNoProgramMenu)
{
    SeedUnrunnable("Alpha", "Alpha Tools");
    SeedUnrunnable("Beta", "Beta Tools");
    EXPECT_TRUE(Run([&](CPurgeletDlg& dlg) {
        ASSERT_TRUE(FocusIn(List(dlg)));
        auto rightClick = [](CPoint pt) {
            MoveTo(pt);
            realinput::SendMouse(MOUSEEVENTF_RIGHTDOWN, pt);
            realinput::SendMouse(MOUSEEVENTF_RIGHTUP, pt);
        };
        CRect rcRow = RowOnScreen(dlg, RowOf(dlg, "Beta Tools"));
        rightClick(CPoint(rcRow.left + 40, rcRow.CenterPoint().y));
        ASSERT_TRUE(OpenMenu() != NULL) << "a row's right-click opens no menu";
        EXPECT_EQ("Beta Tools", SelectedRowText(dlg));
        CloseMenu();

        CHeaderCtrl* pHeader = List(dlg).GetHeaderCtrl();
        for (int nColumn : {0, 1, 4}) {
            SCOPED_TRACE(nColumn);
            CRect rcItem;
            pHeader->GetItemRect(nColumn, &rcItem);
            pHeader->ClientToScreen(&rcItem);
            rightClick(rcItem.CenterPoint());
            // The click and what it brings are handled once the queue is empty.
            testsupport::PumpUntilIdle();
            EXPECT_FALSE(CExtPopupMenuWnd::IsMenuTracking());
            CloseMenu();
        }
        EXPECT_EQ("Beta Tools", SelectedRowText(dlg));
    }));
}

namespace {

// Opens the Remove warning for the selected program and, while it is up, posts one
// message to a window of the main dialog, then answers No. A command that ran behind the
// warning and opened a box or dialog of its own is answered No, then Cancel, and
// reported: the watch lasts until the Remove command has returned, so a dialog that
// opens late (after the warning took its No) is found and closed as well.
struct BehindTheWarning
{
    bool bWarned = false;
    bool bOtherBox = false;
};

BehindTheWarning PostBehindTheRemoveWarning(CPurgeletDlg& dlg, HWND hTarget, UINT message, WPARAM wParam)
{
    BehindTheWarning result;
    const HWND hMain = dlg.GetSafeHwnd();
    std::atomic<bool> bReturned{false}, bOther{false};
    BoxWatcher warning(hMain, [&](HWND hBox) {
        // Posted in this order, they are taken in this order by the box's own loop: the
        // message has been handled when No comes.
        ::PostMessageA(hTarget, message, wParam, 0);
        ::PostMessageA(hBox, WM_COMMAND, MAKEWPARAM(IDNO, BN_CLICKED), 0);
        realinput::SleepUntil(
            [&] {
                HWND h = FindOpenBox(hMain);
                if (h != NULL && h != hBox) {
                    bOther = true;
                    ownedbox::Press(IDNO)(h);
                    ownedbox::Press(IDCANCEL)(h);
                    realinput::SleepUntil([&] { return !::IsWindowVisible(h); });
                }
                return bReturned.load();
            },
            20000);
    });
    dlg.SendMessage(WM_COMMAND, ID_PROGRAM_REMOVE_ENTRY, 0);
    bReturned = true;
    warning.Join();
    result.bWarned = warning.m_text.find("Are you sure") != std::string::npos;
    result.bOtherBox = bOther;
    // What the message set going (a posted command, a refresh's own posts) is done.
    testsupport::PumpUntilIdle(nullptr, 500);
    return result;
}

}  // namespace

// While the Remove warning is up, a refresh, a copy, an options change, the editor's
// opening, a command or a context menu posted to the panes changes nothing: the list is
// not read again (a program added meanwhile stays unlisted), the clipboard keeps its
// text, the selection and its row stay, and no menu or editor shows.
TEST_F(MainWindowRoutingTest, NothingPostedToThePanesActsBehindTheRemoveWarning)
{
    SeedUnrunnable("Alpha", "Alpha Tools");
    SeedUnrunnable("Beta", "Beta Tools");
    SeedUnrunnable("Gamma", "Gamma Tools");
    mainwindowtest::RefillWatch refills;
    EXPECT_TRUE(Run([&](CPurgeletDlg& dlg) {
        CUiManager* pUi = CUiManager::GetInstance();
        const HWND hList = List(dlg).GetSafeHwnd();
        const HWND hListPage = dlg.m_pageUninstall.m_pageView.m_pageList.GetSafeHwnd();
        ASSERT_TRUE(FocusIn(List(dlg)));
        ClickRow(dlg, "Beta Tools");
        ASSERT_TRUE(PumpUntil([&] { return SelectedRowText(dlg) == "Beta Tools"; }));
        // Listed by the next refresh, if one ran.
        SeedUnrunnable("Delta", "Delta Tools");
        struct Posted
        {
            const char* name;
            HWND hTarget;
            UINT message;
            WPARAM wParam;
        } posts[] = {
            {"refresh to the right pane", pUi->m_hWndRightPane, g_nMsgRefreshPrograms, 0},
            {"re-filter to the right pane", pUi->m_hWndRightPane, g_nMsgRefreshPrograms, 1},
            {"copy to the right pane", pUi->m_hWndRightPane, g_nMsgCopySelection, 0},
            {"options changed to the right pane", pUi->m_hWndRightPane, g_nMsgOptionsChanged, 0},
            {"new group's editor to the left pane", pUi->m_hWndLeftPane, g_nMsgShowGroupEditor, (WPARAM)-1},
            {"Refresh to the list page", hListPage, WM_COMMAND, ID_VIEW_REFRESH},
            {"Copy Application to the list page", hListPage, WM_COMMAND, ID_EDIT_COPY_APPLICATION},
            {"context menu to the list page", hListPage, WM_CONTEXTMENU, (WPARAM)hList},
        };
        for (const Posted& p : posts) {
            SCOPED_TRACE(p.name);
            SetClipboard("kept");
            const size_t nRefills = refills.Count(hList);
            const BehindTheWarning result = PostBehindTheRemoveWarning(dlg, p.hTarget, p.message, p.wParam);
            EXPECT_TRUE(result.bWarned);
            EXPECT_FALSE(result.bOtherBox);
            EXPECT_EQ(nRefills, refills.Count(hList));
            EXPECT_EQ("3 of 3 programs found", Status(dlg));
            EXPECT_EQ("Beta Tools", SelectedRowText(dlg));
            ASSERT_TRUE(pUi->GetSelectedProgram() != NULL);
            EXPECT_EQ("Beta Tools", pUi->GetSelectedProgram()->DisplayName);
            EXPECT_EQ("kept", ClipboardText());
            EXPECT_FALSE(pUi->IsGroupEditorOpen());
            EXPECT_TRUE(pUi->IsProgramListOnScreen());
            EXPECT_FALSE(CExtPopupMenuWnd::IsMenuTracking());
            CloseMenu();
            for (const char* key : {"Alpha", "Beta", "Gamma", "Delta"}) EXPECT_TRUE(EntryExists(key)) << key;
        }
        // The same refresh once the warning is gone runs.
        ::PostMessageA(pUi->m_hWndRightPane, g_nMsgRefreshPrograms, 0, 0);
        EXPECT_TRUE(PumpUntil([&] { return Status(dlg) == "4 of 4 programs found"; })) << Status(dlg);
    }));
}

// While the Remove warning is up, Options, About (from the menu or the system menu),
// View > Groups, View > Details, Close and File > Exit posted to the main window itself do
// nothing: no dialog opens, the panes keep their state and the window stays up.
TEST_F(MainWindowRoutingTest, NothingPostedToTheMainWindowActsBehindTheRemoveWarning)
{
    SeedUnrunnable("Alpha", "Alpha Tools");
    SeedUnrunnable("Beta", "Beta Tools");
    EXPECT_TRUE(Run([&](CPurgeletDlg& dlg) {
        CPageUninstall& page = dlg.m_pageUninstall;
        ASSERT_TRUE(FocusIn(List(dlg)));
        ClickRow(dlg, "Beta Tools");
        ASSERT_TRUE(PumpUntil([&] { return SelectedRowText(dlg) == "Beta Tools"; }));
        ASSERT_TRUE(page.m_wndGroupsBar.IsWindowVisible());
        ASSERT_TRUE(page.m_pageView.m_wndDetailsBar.IsWindowVisible());
        const struct
        {
            const char* name;
            UINT message;
            WPARAM wParam;
        } posts[] = {
            {"Options", WM_COMMAND, ID_VIEW_OPTIONS},
            {"About", WM_COMMAND, ID_APP_ABOUT},
            {"the system menu's About", WM_SYSCOMMAND, IDM_ABOUTBOX},
            {"View > Groups", WM_COMMAND, ID_VIEW_GROUPS},
            {"View > Details", WM_COMMAND, ID_VIEW_DETAILS},
            {"the system menu's Close", WM_SYSCOMMAND, SC_CLOSE},
            {"File > Exit", WM_COMMAND, ID_APP_EXIT},
        };
        for (const auto& p : posts) {
            SCOPED_TRACE(p.name);
            const BehindTheWarning result = PostBehindTheRemoveWarning(dlg, dlg.GetSafeHwnd(), p.message, p.wParam);
            EXPECT_TRUE(result.bWarned);
            EXPECT_FALSE(result.bOtherBox);
            EXPECT_EQ(1, g_ShowCats.Value);
            EXPECT_EQ(1, g_ShowDetails.Value);
            EXPECT_TRUE(page.m_wndGroupsBar.IsWindowVisible());
            EXPECT_TRUE(page.m_pageView.m_wndDetailsBar.IsWindowVisible());
            EXPECT_TRUE(dlg.ContinueModal());
            EXPECT_TRUE(dlg.IsWindowVisible());
            EXPECT_TRUE(::IsWindowEnabled(dlg.GetSafeHwnd()));
            EXPECT_EQ("Beta Tools", SelectedRowText(dlg));
            EXPECT_EQ("2 of 2 programs found", Status(dlg));
        }
        // Without the box, View > Groups hides the groups pane.
        ::PostMessageA(dlg.GetSafeHwnd(), WM_COMMAND, ID_VIEW_GROUPS, 0);
        EXPECT_TRUE(PumpUntil([&] { return !page.m_wndGroupsBar.IsWindowVisible(); }));
        EXPECT_EQ(0, g_ShowCats.Value);
    }));
}

// The groups page's New, Edit and Delete posted while the Remove warning is up do
// nothing: no editor opens, no question comes, the group stays.
TEST_F(MainWindowRoutingTest, TheGroupsPagesCommandsPostedBehindABoxDoNothing)
{
    SeedUnrunnable("Alpha", "Alpha Tools");
    SeedUnrunnable("Beta", "Beta Tools");
    GroupEntry* pGroup = CGroupManager::GetInstance()->CreateGroup();
    pGroup->Name = "Media";
    pGroup->AddKeyword("tools");
    EXPECT_TRUE(Run([&](CPurgeletDlg& dlg) {
        CUiManager* pUi = CUiManager::GetInstance();
        CPageUninstallGroups& groups = dlg.m_pageUninstall.m_pageGroups;
        // The caret on the user group, so Edit and Delete are offered.
        HTREEITEM hMedia = groups.m_wndTree.GetChildItem(groups.m_hRoot);
        ASSERT_EQ("Media", std::string(groups.m_wndTree.GetItemText(hMedia)));
        CRect rcItem;
        groups.m_wndTree.GetItemRect(hMedia, &rcItem, TRUE);
        ClickAt(groups.m_wndTree, rcItem.CenterPoint());
        ASSERT_TRUE(PumpUntil([&] { return CGroupManager::GetInstance()->m_pCurrentGroup == pGroup; }));
        ClickRow(dlg, "Beta Tools");
        ASSERT_TRUE(PumpUntil([&] { return SelectedRowText(dlg) == "Beta Tools"; }));
        ASSERT_TRUE(groups.GetCaretUserGroup() == pGroup);

        const struct
        {
            const char* name;
            UINT nID;
        } commands[] = {{"New", ID_GROUP_NEW}, {"Edit", ID_GROUP_EDIT}, {"Delete", ID_GROUP_DELETE}};
        for (const auto& c : commands) {
            SCOPED_TRACE(c.name);
            const BehindTheWarning result = PostBehindTheRemoveWarning(dlg, groups.GetSafeHwnd(), WM_COMMAND, c.nID);
            EXPECT_TRUE(result.bWarned);
            EXPECT_FALSE(result.bOtherBox);
            EXPECT_FALSE(pUi->IsGroupEditorOpen());
            EXPECT_FALSE(dlg.m_pageUninstall.m_wndEditorBar.IsWindowVisible());
            EXPECT_TRUE(pUi->IsProgramListOnScreen());
            ASSERT_EQ(2u, CGroupManager::GetInstance()->m_Groups.size());
            EXPECT_EQ(pGroup, CGroupManager::GetInstance()->m_Groups.back());
            EXPECT_EQ("Beta Tools", SelectedRowText(dlg));
        }
        // Without a box, New opens the editor.
        ::PostMessageA(groups.GetSafeHwnd(), WM_COMMAND, ID_GROUP_NEW, 0);
        EXPECT_TRUE(PumpUntil([&] { return pUi->IsGroupEditorOpen(); }));
    }));
}

// Add to Group is greyed while no program is selected, in the menus and when the command
// is posted: its dialog never opens to drop a keyword typed for no program.
TEST_F(MainWindowRoutingTest, AddToGroupNeedsASelectedProgram)
{
    SeedUnrunnable("Alpha", "Alpha Tools");
    SeedUnrunnable("Beta", "Beta Tools");
    CGroupManager::GetInstance()->CreateGroup()->Name = "Media";
    EXPECT_TRUE(Run([&](CPurgeletDlg& dlg) {
        ASSERT_TRUE(FocusIn(List(dlg)));
        ClickRow(dlg, "Alpha Tools");
        ASSERT_TRUE(PumpUntil([&] { return SelectedRowText(dlg) == "Alpha Tools"; }));
        EXPECT_TRUE(CommandEnabled(dlg, ID_PROGRAM_ADD_TO_GROUP));

        // A click below the last row takes the selection away.
        CRect rcLast = RowOnScreen(dlg, List(dlg).GetItemCount() - 1);
        ClickAt(CPoint(rcLast.left + 40, rcLast.bottom + 40));
        ASSERT_TRUE(PumpUntil([&] { return SelectedRowText(dlg).empty(); }));
        EXPECT_FALSE(CommandEnabled(dlg, ID_PROGRAM_ADD_TO_GROUP));
        BoxWatcher box(dlg.GetSafeHwnd(), ownedbox::Press(IDCANCEL));
        ::PostMessageA(dlg.GetSafeHwnd(), WM_COMMAND, ID_PROGRAM_ADD_TO_GROUP, 0);
        testsupport::PumpUntilIdle(nullptr, 500);
        box.Stop();
        box.Join();
        EXPECT_FALSE(box.m_bFound);
        EXPECT_TRUE(CGroupManager::GetInstance()->m_Groups.back()->Keywords.empty());
    }));
}

// While a dialog is up over the group editor, its Apply and Cancel clicked by posted
// messages do nothing. The caption's close button then closes it the way Cancel does,
// through the mediator: the editor no longer counts as open, so a group clicked in the
// tree filters the list instead of opening in the editor.
TEST_F(MainWindowRoutingTest, TheGroupEditorClosesThroughTheMediatorAndNotBehindABox)
{
    SeedUnrunnable("Alpha", "Alpha Tools");
    SeedUnrunnable("Beta", "Beta Tools");
    GroupEntry* pGroup = CGroupManager::GetInstance()->CreateGroup();
    pGroup->Name = "Media";
    pGroup->AddKeyword("alpha");
    EXPECT_TRUE(Run([&](CPurgeletDlg& dlg) {
        CUiManager* pUi = CUiManager::GetInstance();
        CPageUninstall& page = dlg.m_pageUninstall;
        CPageUninstallGroups& groups = page.m_pageGroups;
        ::SetForegroundWindow(dlg.GetSafeHwnd());
        CExtBarButton* pNew = mainwindowtest::BarButton(groups.m_wndToolBar, ID_GROUP_NEW);
        ASSERT_TRUE(pNew != NULL);
        ClickAt(groups.m_wndToolBar, pNew->Rect().CenterPoint());
        ASSERT_TRUE(PumpUntil([&] { return pUi->IsGroupEditorOpen() && page.m_wndEditorBar.IsWindowVisible(); }));
        page.m_pageEditor.m_wndName.SetWindowText("Fresh");

        const HWND hEditor = page.m_pageEditor.GetSafeHwnd();
        BoxWatcher options(dlg.GetSafeHwnd(), [&](HWND hBox) {
            ::PostMessageA(hEditor, WM_COMMAND, MAKEWPARAM(IDC_GROUP_APPLY, BN_CLICKED),
                           (LPARAM)page.m_pageEditor.m_wndApply.GetSafeHwnd());
            ::PostMessageA(hEditor, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                           (LPARAM)page.m_pageEditor.m_wndCancel.GetSafeHwnd());
            ::PostMessageA(hBox, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        });
        dlg.SendMessage(WM_COMMAND, ID_VIEW_OPTIONS, 0);
        options.Join();
        ASSERT_TRUE(options.m_bFound);
        testsupport::PumpUntilIdle(nullptr, 500);
        EXPECT_TRUE(pUi->IsGroupEditorOpen());
        EXPECT_TRUE(page.m_wndEditorBar.IsWindowVisible());
        EXPECT_EQ(2u, CGroupManager::GetInstance()->m_Groups.size());

        CRect rcClose;
        page.m_wndEditorBar.GetCloseButtonRect(NULL, &rcClose);
        realinput::ClickIn(page.m_wndEditorBar.m_hWnd, rcClose);
        ASSERT_TRUE(PumpUntil([&] { return !page.m_wndEditorBar.IsWindowVisible(); }));
        EXPECT_FALSE(pUi->IsGroupEditorOpen());
        EXPECT_TRUE(pUi->IsProgramListOnScreen());
        EXPECT_EQ(2u, CGroupManager::GetInstance()->m_Groups.size());
        HTREEITEM hMedia = groups.m_wndTree.GetChildItem(groups.m_hRoot);
        CRect rcItem;
        groups.m_wndTree.GetItemRect(hMedia, &rcItem, TRUE);
        ClickAt(groups.m_wndTree, rcItem.CenterPoint());
        EXPECT_TRUE(PumpUntil([&] { return Status(dlg) == "1 of 2 programs found"; })) << Status(dlg);
        EXPECT_FALSE(pUi->IsGroupEditorOpen());
    }));
}
