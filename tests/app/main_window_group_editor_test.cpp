// The group editor in the real main dialog, driven with real input: opened from the
// groups pane it takes the typing in its Name field while the program list and the
// search box it hides stay untouched and out of the Tab order, and Apply, Cancel and the
// caption's close button hand the focus back to the groups tree with the group selected.
// At start-up the list is filled once and the first focus is the program list's.
#include "main_window_fixture.h"
#include "app/purgelet_dlg.h"
#include "app/ui_manager.h"
#include "catalogue/groups.h"
#include "res/resource.h"
#include "support/registry_sandbox.h"
#include <gtest/gtest.h>
#include <ctype.h>
#include <algorithm>
#include <vector>

using mainwindowtest::PumpUntil;
using testsupport::RegistrySandbox;

namespace {

void SendInputs(std::vector<INPUT> in) { ::SendInput((UINT)in.size(), in.data(), sizeof(INPUT)); }

INPUT Key(WORD vk, bool bUp)
{
    INPUT in = {};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = vk;
    in.ki.dwFlags = bUp ? KEYEVENTF_KEYUP : 0;
    return in;
}

void PressKey(WORD vk, bool bShift = false)
{
    if (bShift)
        SendInputs({Key(VK_SHIFT, false), Key(vk, false), Key(vk, true), Key(VK_SHIFT, true)});
    else
        SendInputs({Key(vk, false), Key(vk, true)});
}

// Letters only; capitals with Shift.
void TypeText(const char* text)
{
    for (const char* p = text; *p != '\0'; ++p) PressKey((WORD)toupper((unsigned char)*p), isupper((unsigned char)*p));
}

// One click, or two for a double-click, at a point of a window's client area.
void ClickIn(CWnd& wnd, CPoint pt, int nClicks = 1)
{
    wnd.ClientToScreen(&pt);
    ::SetCursorPos(pt.x, pt.y);
    std::vector<INPUT> in;
    for (int i = 0; i < nClicks * 2; ++i) {
        INPUT m = {};
        m.type = INPUT_MOUSE;
        m.mi.dwFlags = i % 2 == 0 ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
        in.push_back(m);
    }
    SendInputs(in);
}

void ClickToolButton(CExtToolControlBar& bar, UINT nID)
{
    for (int i = 0; i < bar.GetButtonsCount(); ++i)
        if (bar.GetButton(i)->GetCmdID(false) == nID) ClickIn(bar, bar.GetButton(i)->Rect().CenterPoint());
}

std::string Text(CWnd& wnd)
{
    CString text;
    wnd.GetWindowText(text);
    return (LPCTSTR)text;
}

std::string SelectedGroupText(CPageUninstallGroups& groups)
{
    HTREEITEM hItem = groups.m_wndTree.GetSelectedItem();
    return hItem != NULL ? (LPCTSTR)groups.m_wndTree.GetItemText(hItem) : "(none)";
}

HTREEITEM FindItem(CPageUninstallGroups& groups, const char* text)
{
    for (HTREEITEM h = groups.m_wndTree.GetChildItem(groups.m_hRoot); h != NULL;
         h = groups.m_wndTree.GetNextSiblingItem(h))
        if (groups.m_wndTree.GetItemText(h) == text) return h;
    return NULL;
}

CPoint ItemPoint(CPageUninstallGroups& groups, const char* text)
{
    CRect rc;
    groups.m_wndTree.GetItemRect(FindItem(groups, text), &rc, TRUE);
    return rc.CenterPoint();
}

class GroupEditorFocusTest : public mainwindowtest::MainWindowFixture
{
protected:
    void SetUp() override
    {
        MainWindowFixture::SetUp();
        if (HasFatalFailure()) return;
        ::DeleteFileA(m_groupsFile.c_str());
        ClearGroups();
        const char* names[] = {"Alpha Editor", "Sample Mixer", "Salsa Player"};
        for (const char* name : names)
            ASSERT_TRUE(RegistrySandbox::SetString(HKEY_CURRENT_USER, UninstallKeyPath + name, "DisplayName", name));
    }
    void TearDown() override
    {
        ClearGroups();
        MainWindowFixture::TearDown();
    }
    static void ClearGroups()
    {
        CGroupManager* pGroups = CGroupManager::GetInstance();
        pGroups->m_pCurrentGroup = NULL;
        while (pGroups->m_Groups.size() > 1) pGroups->DeleteGroup(pGroups->m_Groups.back());
    }
};

}  // namespace

TEST_F(GroupEditorFocusTest, TheEditorTakesTheTypingAndGivesTheFocusBackToTheTree)
{
    EXPECT_TRUE(Run([&](CPurgeletDlg& dlg) {
        CPageUninstall& page = dlg.m_pageUninstall;
        CPageUninstallGroups& groups = page.m_pageGroups;
        CPageUninstallGroupEditor& editor = page.m_pageEditor;
        CWnd& search = page.m_pageView.m_pageList.m_wndSearch;
        CWnd& tree = groups.m_wndTree;
        GroupEntry* pMedia = CGroupManager::GetInstance()->CreateGroup();
        pMedia->Name = "Media";
        CUiManager::GetInstance()->RefreshGroups();
        ::SetForegroundWindow(dlg.m_hWnd);
        auto focusIs = [](CWnd& wnd) { return PumpUntil([&] { return ::GetFocus() == wnd.m_hWnd; }); };
        auto status = [&] { return std::string((LPCTSTR)dlg.m_wndStatusBar.GetPaneText(0)); };
        // The typing used to go to the control that had the focus; the search box is
        // where it did the most harm.
        search.SetFocus();
        ASSERT_TRUE(focusIs(search));

        ClickToolButton(groups.m_wndToolBar, ID_GROUP_NEW);
        ASSERT_TRUE(focusIs(editor.m_wndName)) << "New leaves the focus outside the Name field";
        TypeText("Sa");
        EXPECT_TRUE(PumpUntil([&] { return Text(editor.m_wndName) == "Sa"; }));
        EXPECT_EQ("", Text(search));
        EXPECT_EQ("3 of 3 programs found", status());
        // Tab goes between the tree and the editor's controls; the hidden panes are out.
        PressKey(VK_TAB, true);
        EXPECT_TRUE(focusIs(tree)) << "Shift+Tab from Name";
        PressKey(VK_TAB);
        EXPECT_TRUE(focusIs(editor.m_wndName)) << "Tab from the tree";
        editor.m_wndCancel.SetFocus();
        PressKey(VK_TAB);
        EXPECT_TRUE(focusIs(tree)) << "Tab from Cancel";
        ClickIn(editor.m_wndKeywords, CPoint(10, 10));
        ASSERT_TRUE(focusIs(editor.m_wndKeywords));
        TypeText("mix");

        // Apply: the new group is the tree's selected item, the list is as it was.
        CRect rc;
        editor.m_wndApply.GetClientRect(&rc);
        ClickIn(editor.m_wndApply, rc.CenterPoint());
        EXPECT_TRUE(focusIs(tree)) << "after Apply";
        EXPECT_FALSE(CUiManager::GetInstance()->m_bGroupEditorOpen);
        EXPECT_EQ("Sa", SelectedGroupText(groups));
        EXPECT_EQ("3 of 3 programs found", status());
        EXPECT_EQ("", Text(search));

        // Edit, then Cancel.
        ClickToolButton(groups.m_wndToolBar, ID_GROUP_EDIT);
        EXPECT_TRUE(focusIs(editor.m_wndName)) << "after Edit";
        EXPECT_EQ("Sa", Text(editor.m_wndName));
        editor.m_wndCancel.GetClientRect(&rc);
        ClickIn(editor.m_wndCancel, rc.CenterPoint());
        EXPECT_TRUE(focusIs(tree)) << "after Cancel";
        EXPECT_EQ("Sa", SelectedGroupText(groups));

        // A click on the selected group makes it the current one, as a click on any other.
        ClickIn(groups.m_wndTree, ItemPoint(groups, "Sa"));
        EXPECT_TRUE(PumpUntil([&] { return status() == "1 of 3 programs found"; })) << status();

        // A double-click opens the group in the editor; while it is open, going through
        // the groups in the tree opens each of them and leaves the focus there.
        PumpUntil([] { return false; }, ::GetDoubleClickTime() + 50);  // the click before is no half of it
        ClickIn(groups.m_wndTree, ItemPoint(groups, "Sa"), 2);
        EXPECT_TRUE(focusIs(editor.m_wndName)) << "after the double-click";
        EXPECT_EQ("Sa", Text(editor.m_wndName));
        ClickIn(groups.m_wndTree, ItemPoint(groups, "Media"));
        EXPECT_TRUE(PumpUntil([&] { return Text(editor.m_wndName) == "Media"; }));
        EXPECT_TRUE(focusIs(tree)) << "after a click in the tree with the editor open";
        PressKey(VK_DOWN);
        EXPECT_TRUE(PumpUntil([&] { return Text(editor.m_wndName) == "Sa"; }));
        EXPECT_TRUE(focusIs(tree)) << "after Down in the tree with the editor open";

        // The caption's close button.
        editor.m_wndName.SetFocus();
        CExtContainerBar& bar = page.m_wndEditorBar;
        bar.GetCloseButtonRect(NULL, &rc);
        ClickIn(bar, rc.CenterPoint());
        EXPECT_TRUE(focusIs(tree)) << "after the close button";
        EXPECT_FALSE(CUiManager::GetInstance()->m_bGroupEditorOpen);
        EXPECT_EQ("Sa", SelectedGroupText(groups));
        EXPECT_EQ("1 of 3 programs found", status());
    }));
}

namespace {

// The program list's refills at start-up show as LVM_DELETEALLITEMS sent to it; the list
// does not exist before the start, so every list's deletions are noted by window.
std::vector<HWND> g_deletions;

LRESULT CALLBACK NoteDeletions(int nCode, WPARAM wParam, LPARAM lParam)
{
    const CWPSTRUCT* p = (const CWPSTRUCT*)lParam;
    if (nCode == HC_ACTION && p->message == LVM_DELETEALLITEMS) g_deletions.push_back(p->hwnd);
    return ::CallNextHookEx(NULL, nCode, wParam, lParam);
}

}  // namespace

TEST_F(GroupEditorFocusTest, TheListIsFilledOnceAtStartUpAndOnlyAChangeOfGroupFillsItAgain)
{
    g_deletions.clear();
    HHOOK hHook = ::SetWindowsHookExA(WH_CALLWNDPROC, NoteDeletions, NULL, ::GetCurrentThreadId());
    ASSERT_TRUE(hHook != NULL);
    EXPECT_TRUE(Run([&](CPurgeletDlg& dlg) {
        CWnd& list = dlg.m_pageUninstall.m_pageView.m_pageList.m_wndList;
        CPageUninstallGroups& groups = dlg.m_pageUninstall.m_pageGroups;
        auto fills = [&] { return (int)std::count(g_deletions.begin(), g_deletions.end(), list.m_hWnd); };
        ASSERT_TRUE(PumpUntil([&] { return dlg.IsWindowVisible() && ::GetFocus() != NULL; }));
        PumpUntil([] { return ::GetQueueStatus(QS_ALLINPUT) == 0; });
        EXPECT_EQ(1, fills());
        EXPECT_EQ(list.m_hWnd, ::GetFocus());
        EXPECT_EQ(groups.m_hRoot, groups.m_hCurrent);

        struct Step
        {
            const char* item;
            int nFills;
        } steps[] = {{"Other", 2}, {"Groups", 3}};
        for (const Step& s : steps) {
            groups.m_wndTree.SelectItem(std::string(s.item) == "Groups" ? groups.m_hRoot : FindItem(groups, s.item));
            EXPECT_EQ(s.nFills, fills()) << s.item;
        }
        // A rebuilt tree that takes the focus picks an item of its own: the same group.
        CUiManager::GetInstance()->RefreshGroups();
        groups.m_wndTree.SetFocus();
        PumpUntil([] { return ::GetQueueStatus(QS_ALLINPUT) == 0; });
        EXPECT_EQ(3, fills());
    }));
    ::UnhookWindowsHookEx(hHook);
}
