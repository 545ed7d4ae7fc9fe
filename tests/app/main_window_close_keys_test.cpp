// Alt+F4 with real keys, wherever the focus sits in the real main window (a pane, a page's
// control, the group editor), reaches the window's close and ends it, as File > Exit does:
// a control that kept the system's keys for itself would leave the window open.
#include "main_window_groups_fixture.h"
#include <gtest/gtest.h>
#include <functional>

using namespace mainwindowgroupstest;

class MainWindowCloseKeysTest : public MainWindowGroupsTest
{
};

TEST_F(MainWindowCloseKeysTest, AltF4ClosesTheWindowWhereverTheFocusIs)
{
    using Editor = CPageUninstallGroupEditor;
    // Each case puts the focus where the user does and names the window that holds it.
    auto click = [](CWnd& wnd) {
        ClickIn(wnd.m_hWnd);
        return wnd.m_hWnd;
    };
    auto given = [](CWnd& wnd) {
        wnd.SetFocus();
        return ::GetFocus();
    };
    const struct
    {
        const char* where;
        bool bEditor;  // New first: the group editor open, the focus in its Name
        std::function<HWND(CPurgeletDlg&, Editor&)> put;
    } cases[] = {
        {"the program list", false, [&](CPurgeletDlg& d, Editor&) { return click(List(d)); }},
        {"the search box", false,
         [&](CPurgeletDlg& d, Editor&) { return click(d.m_pageUninstall.m_pageView.m_pageList.m_wndSearch); }},
        {"the groups tree, a group clicked", false,
         [&](CPurgeletDlg& d, Editor&) {
             ClickGroup(d, "Other");
             return Groups(d).m_wndTree.m_hWnd;
         }},
        {"the groups tree after Apply", true,
         [&](CPurgeletDlg& d, Editor& e) {
             Type("cartoons");
             click(e.m_wndApply);
             return Groups(d).m_wndTree.m_hWnd;
         }},
        {"the details list", false,
         [&](CPurgeletDlg& d, Editor&) { return click(d.m_pageUninstall.m_pageView.m_pageDetails.m_wndDetails); }},
        {"the splitter (its pane)", false,
         [&](CPurgeletDlg& d, Editor&) { return given(d.m_pageUninstall.m_wndSplitter); }},
        {"the Groups caption bar", false,
         [&](CPurgeletDlg& d, Editor&) { return given(d.m_pageUninstall.m_wndGroupsBar); }},
        {"the editor's Name", true, [&](CPurgeletDlg&, Editor& e) { return e.m_wndName.m_hWnd; }},
        {"the editor's Keywords", true, [&](CPurgeletDlg&, Editor& e) { return click(e.m_wndKeywords); }},
        {"the editor's Apply", true,
         [&](CPurgeletDlg&, Editor& e) {
             click(e.m_wndKeywords);
             Tap(VK_TAB);
             return e.m_wndApply.m_hWnd;
         }},
        {"the editor's Cancel", true, [&](CPurgeletDlg&, Editor& e) { return given(e.m_wndCancel); }},
        {"the Group Editor caption bar", true,
         [&](CPurgeletDlg& d, Editor&) { return given(d.m_pageUninstall.m_wndEditorBar); }},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.where);
        EXPECT_TRUE(Run([&](CPurgeletDlg& dlg) {
            ::SetForegroundWindow(dlg.m_hWnd);
            if (c.bEditor)
                NewGroup(dlg);
            const HWND hFocus = c.put(dlg, dlg.m_pageUninstall.m_pageEditor);
            ASSERT_TRUE(PumpUntil([&] { return ::GetFocus() == hFocus && ::IsChild(dlg, hFocus); }));
            TapWith(VK_MENU, VK_F4);
            EXPECT_TRUE(PumpUntil([&] { return !dlg.ContinueModal(); })) << "the window stays open";
        }));
        EXPECT_TRUE(TestApp().m_boxes.empty());
    }
}
