// The panes through the real main dialog: a stored split that would squeeze a pane out
// of sight is clamped when the program starts, a splitter bar dragged to the window's
// edge with the real mouse stops where every pane is still usable (and the next start
// shows the same), and hiding a pane that holds the focus hands the focus to the
// program list, so keys never act in a pane the user no longer sees.
#include "main_window_fixture.h"
#include "app/purgelet_dlg.h"
#include "app/ui_manager.h"
#include "catalogue/groups.h"
#include "catalogue/options.h"
#include "catalogue/program_entry.h"
#include "framework/afxres.h"
#include "res/resource.h"
#include "support/registry_sandbox.h"
#include "toolkit/menus/popup_menu_wnd.h"
#include <gtest/gtest.h>
#include <algorithm>
#include <string>

using mainwindowtest::kOptionsKey;
using mainwindowtest::List;
using mainwindowtest::MoveTo;
using mainwindowtest::PumpUntil;
using realinput::Tap;
using testsupport::RegistrySandbox;

namespace {

// What of a window's client area shows on screen: clipped by every ancestor, in screen
// coordinates; empty when the window or an ancestor is hidden.
CRect ShownRect(HWND hWnd)
{
    CRect rc;
    if (!::IsWindowVisible(hWnd)) return rc;
    ::GetClientRect(hWnd, &rc);
    ::MapWindowPoints(hWnd, NULL, (POINT*)&rc, 2);
    for (HWND h = ::GetParent(hWnd); h != NULL; h = ::GetParent(h)) {
        CRect rcParent;
        ::GetClientRect(h, &rcParent);
        ::MapWindowPoints(h, NULL, (POINT*)&rcParent, 2);
        rc.IntersectRect(&rc, &rcParent);
        if ((::GetWindowLongA(h, GWL_STYLE) & WS_CHILD) == 0) break;
    }
    return rc;
}

// The list's rows whose whole height shows below its header.
int ShownRows(CExtReportCtrl& list)
{
    CRect rcShown = ShownRect(list.m_hWnd);
    CHeaderCtrl* pHeader = list.GetHeaderCtrl();
    if (pHeader != NULL && pHeader->IsWindowVisible()) {
        CRect rcHeader;
        pHeader->GetWindowRect(&rcHeader);
        rcShown.top = std::max(rcShown.top, rcHeader.bottom);
    }
    int nShown = 0;
    for (int i = 0; i < list.GetItemCount(); ++i) {
        CRect rc;
        if (!list.GetItemRect(i, &rc, LVIR_BOUNDS)) continue;
        list.ClientToScreen(&rc);
        if (rc.top >= rcShown.top && rc.bottom <= rcShown.bottom && rc.left < rcShown.right) ++nShown;
    }
    return nShown;
}

// Every pane usable: the list shows three rows, the search box shows whole, and the
// groups and details captions show their text and close button. Empty when all hold.
std::string PaneFaults(CPurgeletDlg& dlg)
{
    std::string faults;
    const int nRows = ShownRows(List(dlg));
    if (nRows < 3) faults += "the list shows " + std::to_string(nRows) + " rows; ";
    CWnd& search = dlg.m_pageUninstall.m_pageView.m_pageList.m_wndSearch;
    CRect rcSearch;
    search.GetClientRect(&rcSearch);
    search.ClientToScreen(&rcSearch);
    if (ShownRect(search.m_hWnd) != rcSearch) faults += "the search box is cut; ";
    CExtContainerBar* bars[] = {&dlg.m_pageUninstall.m_wndGroupsBar, &dlg.m_pageUninstall.m_pageView.m_wndDetailsBar};
    for (CExtContainerBar* pBar : bars) {
        const CRect rc = ShownRect(pBar->m_hWnd);
        CString caption;
        pBar->GetWindowText(caption);
        if (rc.Width() < pBar->GetCaptionMinWidth() || rc.Height() < CExtContainerBar::CAPTION_HEIGHT)
            faults += std::string("the ") + (LPCTSTR)caption + " caption shows " + std::to_string(rc.Width()) + " x " +
                      std::to_string(rc.Height()) + "; ";
    }
    return faults;
}

// Drags a splitter's bar with the real mouse, in steps, to a point of the screen.
void DragBar(CExtSplitter& splitter, POINT ptTo)
{
    CRect rcBar;
    ASSERT_TRUE(splitter.GetBarRect(&rcBar));
    splitter.ClientToScreen(&rcBar);
    const POINT ptFrom = rcBar.CenterPoint();
    MoveTo(ptFrom);
    MoveTo(ptFrom, MOUSEEVENTF_LEFTDOWN);
    ASSERT_TRUE(PumpUntil([&] { return ::GetCapture() == splitter.m_hWnd; })) << "the bar did not take the mouse";
    for (int i = 1; i <= 6; ++i)
        MoveTo({ptFrom.x + (ptTo.x - ptFrom.x) * i / 6, ptFrom.y + (ptTo.y - ptFrom.y) * i / 6});
    MoveTo(ptTo, MOUSEEVENTF_LEFTUP);
    EXPECT_TRUE(PumpUntil([&] { return ::GetCapture() == NULL; }));
}

class MainWindowPanesTest : public mainwindowtest::NoGroupsFixture
{
protected:
    void SetUp() override
    {
        NoGroupsFixture::SetUp();
        if (HasFatalFailure()) return;
        for (size_t i = 0; i < kOptions; ++i) m_saved[i] = Options()[i]->Value;
        const char* names[] = {"Alpha Editor", "Beta Viewer", "Gamma Viewer", "Delta Player", "Epsilon Tools",
                               "Zeta Driver", "Eta Viewer", "Theta Notes"};
        for (const char* name : names)
            ASSERT_TRUE(RegistrySandbox::SetString(HKEY_CURRENT_USER, UninstallKeyPath + name, "DisplayName", name));
        ASSERT_TRUE(RegistrySandbox::SetString(HKEY_CURRENT_USER, kOptionsKey, "ShowCats", "TRUE"));
        ASSERT_TRUE(RegistrySandbox::SetString(HKEY_CURRENT_USER, kOptionsKey, "ShowDetails", "TRUE"));
    }
    void TearDown() override
    {
        for (size_t i = 0; i < kOptions; ++i) Options()[i]->Value = m_saved[i];
        NoGroupsFixture::TearDown();
    }
    static const size_t kOptions = 4;
    static OptionValue* const* Options()
    {
        static OptionValue* const options[kOptions] = {&g_ListSize, &g_CatsSize, &g_ShowCats, &g_ShowDetails};
        return options;
    }
    // Runs the program in front, its panes painted.
    bool RunInFront(const std::function<void(CPurgeletDlg&)>& scenario)
    {
        return Run([&](CPurgeletDlg& dlg) {
            ::SetForegroundWindow(dlg.m_hWnd);
            ::SetActiveWindow(dlg.m_hWnd);
            dlg.RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
            scenario(dlg);
        });
    }
    int m_saved[kOptions] = {};
};

}  // namespace

// Stored percentages that leave the list no room (or the details or groups pane none,
// or lie outside 0-100) are clamped as they are applied.
TEST_F(MainWindowPanesTest, AStoredSplitThatSqueezesAPaneIsClampedAtStart)
{
    struct Case
    {
        const char* name;
        DWORD nListSize, nCatsSize;
    } cases[] = {
        {"the list squeezed both ways", 1, 99},
        {"the details and groups panes squeezed", 100, 0},
        {"out of range", 4000000, (DWORD)-7},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(RegistrySandbox::SetDword(HKEY_CURRENT_USER, kOptionsKey, "ListSize", c.nListSize));
        ASSERT_TRUE(RegistrySandbox::SetDword(HKEY_CURRENT_USER, kOptionsKey, "CatsSize", c.nCatsSize));
        EXPECT_TRUE(RunInFront([&](CPurgeletDlg& dlg) {
            EXPECT_TRUE(PumpUntil([&] { return PaneFaults(dlg).empty(); })) << PaneFaults(dlg);
        }));
    }
}

// Each bar dragged with the real mouse to each edge of the window stops at the panes'
// minimums, and the position stored at the close gives a usable start again.
TEST_F(MainWindowPanesTest, ABarDraggedToTheWindowsEdgeLeavesEveryPaneUsable)
{
    EXPECT_TRUE(RunInFront([&](CPurgeletDlg& dlg) {
        CExtSplitter& stacked = dlg.m_pageUninstall.m_pageView.m_wndSplitter;
        CExtSplitter& sideBySide = dlg.m_pageUninstall.m_wndSplitter;
        struct Step
        {
            const char* name;
            CExtSplitter* pSplitter;
            int nEdge;  // 0 left, 1 top, 2 right, 3 bottom
        } steps[] = {
            {"details bar to the bottom", &stacked, 3},
            {"details bar to the top", &stacked, 1},
            {"groups bar to the left", &sideBySide, 0},
            {"groups bar to the right", &sideBySide, 2},
        };
        ASSERT_EQ("", PaneFaults(dlg));
        for (const Step& step : steps) {
            SCOPED_TRACE(step.name);
            CRect rcWindow;
            dlg.GetWindowRect(&rcWindow);
            CRect rcBar;
            ASSERT_TRUE(step.pSplitter->GetBarRect(&rcBar));
            step.pSplitter->ClientToScreen(&rcBar);
            const int nOld = step.pSplitter->m_nPosition;
            POINT pt = rcBar.CenterPoint();
            if (step.nEdge == 0) pt.x = rcWindow.left;
            if (step.nEdge == 1) pt.y = rcWindow.top;
            if (step.nEdge == 2) pt.x = rcWindow.right - 1;
            if (step.nEdge == 3) pt.y = rcWindow.bottom - 1;
            DragBar(*step.pSplitter, pt);
            EXPECT_NE(nOld, step.pSplitter->m_nPosition) << "the bar did not move";
            EXPECT_TRUE(PumpUntil([&] { return PaneFaults(dlg).empty(); })) << PaneFaults(dlg);
        }
        // A double-click still centres the bar where the middle leaves both panes usable.
        CRect rcBar;
        ASSERT_TRUE(stacked.GetBarRect(&rcBar));
        stacked.ClientToScreen(&rcBar);
        realinput::ClickAt(rcBar.CenterPoint());
        realinput::ClickAt(rcBar.CenterPoint());
        const int nMiddle = (stacked.m_rcLayout.bottom - stacked.m_rcLayout.top - stacked.m_nBarSize) / 2;
        EXPECT_TRUE(PumpUntil([&] { return stacked.m_nPosition == nMiddle; })) << stacked.m_nPosition;
        // The list squeezed as far as it goes, to be stored at the close.
        DragBar(stacked, {rcBar.CenterPoint().x, 0});
    }));
    EXPECT_TRUE(RunInFront([&](CPurgeletDlg& dlg) {
        SCOPED_TRACE("the next start");
        EXPECT_TRUE(PumpUntil([&] { return PaneFaults(dlg).empty(); })) << PaneFaults(dlg);
    }));
}

namespace {

// Picks an item of the View menu with the keys: Alt+V, then its letter.
void ViewMenuItem(WORD vkLetter)
{
    realinput::AltLetter('V');
    ASSERT_TRUE(PumpUntil([] { return CExtPopupMenuWnd::IsMenuTracking(); })) << "the View menu did not open";
    Tap(vkLetter);
    EXPECT_TRUE(PumpUntil([] { return !CExtPopupMenuWnd::IsMenuTracking(); }));
}

void ClickCloseButton(CExtContainerBar& bar)
{
    CRect rc;
    bar.GetCloseButtonRect(NULL, &rc);
    realinput::ClickIn(bar, rc);
}

std::string StatusText(CPurgeletDlg& dlg)
{
    return (LPCTSTR)dlg.m_wndStatusBar.GetPaneText(0);
}

}  // namespace

// The groups tree or the details list holds the focus when its pane is hidden through
// the View menu or its caption's close button: the focus goes to the program list, and
// Down moves the list's selection, not the current group.
TEST_F(MainWindowPanesTest, HidingThePaneWithTheFocusHandsTheFocusToTheList)
{
    EXPECT_TRUE(RunInFront([&](CPurgeletDlg& dlg) {
        GroupEntry* pViewers = CGroupManager::GetInstance()->CreateGroup();
        pViewers->Name = "Viewers";
        pViewers->AddKeyword("viewer");
        CUiManager::GetInstance()->RefreshGroups();
        CPageUninstall& page = dlg.m_pageUninstall;
        CExtTreeCtrl& tree = page.m_pageGroups.m_wndTree;
        CWnd& details = page.m_pageView.m_pageDetails.m_wndDetails;
        struct Case
        {
            const char* name;
            CExtContainerBar* pBar;
            CWnd* pFocus;
            UINT nShowCommand;
            std::function<void()> hide;
        } cases[] = {
            {"View > Groups", &page.m_wndGroupsBar, &tree, ID_VIEW_GROUPS, [] { ViewMenuItem('G'); }},
            {"Groups caption's close button", &page.m_wndGroupsBar, &tree, ID_VIEW_GROUPS,
             [&] { ClickCloseButton(page.m_wndGroupsBar); }},
            {"View > Details", &page.m_pageView.m_wndDetailsBar, &details, ID_VIEW_DETAILS,
             [] { ViewMenuItem('D'); }},
            {"Details caption's close button", &page.m_pageView.m_wndDetailsBar, &details, ID_VIEW_DETAILS,
             [&] { ClickCloseButton(page.m_pageView.m_wndDetailsBar); }},
        };
        for (const Case& c : cases) {
            SCOPED_TRACE(c.name);
            if (!c.pBar->IsWindowVisible()) dlg.SendMessage(WM_COMMAND, c.nShowCommand, 0);
            ASSERT_TRUE(c.pBar->IsWindowVisible());
            // The list's first row selected, the tree's caret on the root: Down in the
            // tree would make the first group current and filter the list.
            tree.SelectItem(page.m_pageGroups.m_hRoot);
            List(dlg).SetFocus();
            Tap(VK_HOME);
            ASSERT_TRUE(PumpUntil([&] { return List(dlg).GetNextItem(-1, LVNI_SELECTED) == 0; }));
            c.pFocus->SetFocus();
            ASSERT_TRUE(PumpUntil([&] { return ::GetFocus() == c.pFocus->m_hWnd; }));
            const std::string status = StatusText(dlg);
            const GroupEntry* pCurrent = CGroupManager::GetInstance()->m_pCurrentGroup;

            c.hide();
            EXPECT_TRUE(PumpUntil([&] { return !c.pBar->IsWindowVisible(); })) << "the pane still shows";
            EXPECT_TRUE(PumpUntil([&] { return ::GetFocus() == List(dlg).m_hWnd; })) << "the focus is elsewhere";
            Tap(VK_DOWN);
            EXPECT_TRUE(PumpUntil([&] { return List(dlg).GetNextItem(-1, LVNI_SELECTED) == 1; }))
                << "Down did not reach the list";
            EXPECT_EQ(pCurrent, CGroupManager::GetInstance()->m_pCurrentGroup);
            EXPECT_EQ(page.m_pageGroups.m_hRoot, tree.GetSelectedItem());
            EXPECT_EQ(status, StatusText(dlg));
        }
    }));
}
