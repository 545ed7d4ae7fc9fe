// The main window's layout and painting, through the real main dialog: the bars take
// their share of the client area and the panes the rest, at the first show, after a
// resize and after a maximize; what a splitter drag uncovers is painted as a full
// repaint paints it.
#include "main_window_fixture.h"
#include "app/purgelet_dlg.h"
#include "catalogue/groups.h"
#include "catalogue/options.h"
#include "catalogue/program_entry.h"
#include "framework/afxres.h"
#include "res/resource.h"
#include "support/dib_canvas.h"
#include "support/message_pump.h"
#include "support/registry_sandbox.h"
#include <gtest/gtest.h>
#include <cstdio>
#include <fstream>
#include <memory>
#include <sstream>

using testsupport::RegistrySandbox;

namespace {

// A window's rectangle in the main dialog's client coordinates.
CRect InDialog(CPurgeletDlg& dlg, HWND hWnd)
{
    CRect rc;
    ::GetWindowRect(hWnd, &rc);
    ::MapWindowPoints(NULL, dlg.GetSafeHwnd(), (POINT*)&rc, 2);
    return rc;
}

// The "Groups" caption strip: the top of the groups bar.
CRect GroupsCaption(CPurgeletDlg& dlg)
{
    CRect rc = InDialog(dlg, dlg.m_pageUninstall.m_wndGroupsBar.GetSafeHwnd());
    rc.bottom = rc.top + CExtContainerBar::CAPTION_HEIGHT;
    return rc;
}

// The main window's client area as the screen shows it.
std::unique_ptr<testsupport::DibCanvas> ScreenShot(CPurgeletDlg& dlg)
{
    CRect rc;
    dlg.GetClientRect(&rc);
    dlg.ClientToScreen(&rc);
    std::unique_ptr<testsupport::DibCanvas> canvas(new testsupport::DibCanvas(rc.Width(), rc.Height()));
    HDC hScreen = ::GetDC(NULL);
    ::BitBlt(canvas->Dc(), 0, 0, rc.Width(), rc.Height(), hScreen, rc.left, rc.top, SRCCOPY);
    ::ReleaseDC(NULL, hScreen);
    ::GdiFlush();
    return canvas;
}

// The first pixel where two shots differ, as text; empty when they are equal.
std::string FirstDifference(const testsupport::DibCanvas& a, const testsupport::DibCanvas& b)
{
    if (a.Width() != b.Width() || a.Height() != b.Height()) return "the sizes differ";
    for (int y = 0; y < a.Height(); ++y)
        for (int x = 0; x < a.Width(); ++x)
            if (a.Pixel(x, y) != b.Pixel(x, y)) {
                char text[96];
                sprintf(text, "(%d, %d): %06lx, after a full repaint %06lx", x, y, a.Pixel(x, y), b.Pixel(x, y));
                return text;
            }
    return std::string();
}

// Drags the left pane's splitter bar sideways by the given distance, in steps.
void DragGroupsSplitter(CPurgeletDlg& dlg, int nDistance)
{
    CExtSplitter& splitter = dlg.m_pageUninstall.m_wndSplitter;
    CRect rcBar;
    ASSERT_TRUE(splitter.GetBarRect(&rcBar));
    const int x = rcBar.left + 1, y = rcBar.top + rcBar.Height() / 2;
    splitter.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    for (int i = 1; i <= 5; ++i) {
        splitter.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x + nDistance * i / 5, y));
        testsupport::PumpPending();
    }
    splitter.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(x + nDistance, y));
}

// Lets every pending paint happen: the window's update regions are empty.
bool Painted(CPurgeletDlg& dlg)
{
    bool bPending = false;
    std::function<void(HWND)> check = [&](HWND hWnd) {
        if (::GetUpdateRect(hWnd, NULL, FALSE)) bPending = true;
        for (HWND h = ::GetWindow(hWnd, GW_CHILD); h != NULL; h = ::GetWindow(h, GW_HWNDNEXT)) check(h);
    };
    return testsupport::PumpUntil([&] {
        bPending = false;
        check(dlg.GetSafeHwnd());
        return !bPending;
    });
}

class MainWindowLayoutTest : public mainwindowtest::MainWindowFixture
{
protected:
    void SetUp() override
    {
        MainWindowFixture::SetUp();
        if (HasFatalFailure()) return;
        const char* names[] = {"Alpha Editor", "Beta Viewer", "Gamma Tools"};
        for (const char* name : names)
            ASSERT_TRUE(RegistrySandbox::SetString(HKEY_CURRENT_USER, UninstallKeyPath + name, "DisplayName", name));
    }
};

}  // namespace

TEST_F(MainWindowLayoutTest, BarsTakeTheirRowsAndThePanesTheRest)
{
    Run([](CPurgeletDlg& dlg) {
        struct Step
        {
            const char* name;
            std::function<void()> act;
        } steps[] = {
            {"first show", [] {}},
            {"resize",
             [&] {
                 CRect rc;
                 dlg.GetWindowRect(&rc);
                 dlg.SetWindowPos(NULL, 0, 0, rc.Width() + 120, rc.Height() + 90, SWP_NOMOVE | SWP_NOZORDER);
             }},
            {"maximize", [&] { dlg.ShowWindow(SW_MAXIMIZE); }},
            {"restore", [&] { dlg.ShowWindow(SW_RESTORE); }},
        };
        for (const Step& step : steps) {
            SCOPED_TRACE(step.name);
            step.act();
            ASSERT_TRUE(Painted(dlg));
            CRect rcClient;
            dlg.GetClientRect(&rcClient);
            const CRect tool = InDialog(dlg, dlg.m_wndToolBar.GetSafeHwnd());
            const CRect status = InDialog(dlg, dlg.m_wndStatusBar.GetSafeHwnd());
            const CRect page = InDialog(dlg, dlg.m_pageUninstall.GetSafeHwnd());
            const CRect search = InDialog(dlg, dlg.m_pageUninstall.m_pageView.m_pageList.m_wndSearch.GetSafeHwnd());
            const CRect caption = GroupsCaption(dlg);
            CRect overlap;
            EXPECT_FALSE(overlap.IntersectRect(&tool, &search)) << "toolbar over the search box";
            EXPECT_FALSE(overlap.IntersectRect(&tool, &caption)) << "toolbar over the Groups caption";
            EXPECT_FALSE(overlap.IntersectRect(&search, &caption));
            // The page takes exactly what the menu bar, the toolbar and the status bar leave.
            EXPECT_EQ(CRect(0, tool.bottom, rcClient.right, status.top), page);
            EXPECT_EQ(InDialog(dlg, dlg.m_wndMenuBar.GetSafeHwnd()).bottom, tool.top);
            EXPECT_EQ(page.top, caption.top);
            EXPECT_EQ(page.top, search.top);
            CRect rcTemplate(0, 0, 0, 14);  // the search box's height in the list page's template
            dlg.m_pageUninstall.m_pageView.m_pageList.MapDialogRect(&rcTemplate);
            EXPECT_EQ(rcTemplate.Height(), search.Height()) << "the search box keeps its height";
            // The groups toolbar leaves the tree's border alone.
            CPageUninstallGroups& groups = dlg.m_pageUninstall.m_pageGroups;
            EXPECT_EQ(InDialog(dlg, groups.m_wndToolBar.GetSafeHwnd()).bottom,
                      InDialog(dlg, groups.m_wndTree.GetSafeHwnd()).top);
        }
    });
}

// What a move uncovers is painted as a full repaint paints it; the tree's border ring
// shows its one-pixel themed frame and the tree's background inside it.
TEST_F(MainWindowLayoutTest, MovedPanesRepaintWhatTheyUncover)
{
    Run([](CPurgeletDlg& dlg) {
        struct Step
        {
            const char* name;
            std::function<void()> act;
        } steps[] = {
            // The status bar repaints alone (its pane text changes) over the corner that
            // the dialog's size grip shares with it.
            {"status text shown again", [&] { dlg.SendMessage(WM_SETMESSAGESTRING, AFX_IDS_IDLEMESSAGE, 0); }},
            {"splitter dragged right", [&] { DragGroupsSplitter(dlg, 150); }},
            {"splitter dragged left", [&] { DragGroupsSplitter(dlg, -100); }},
            {"groups off and on",
             [&] {
                 dlg.SendMessage(WM_COMMAND, ID_VIEW_GROUPS, 0);
                 testsupport::PumpPending();
                 dlg.SendMessage(WM_COMMAND, ID_VIEW_GROUPS, 0);
             }},
            {"maximize", [&] { dlg.ShowWindow(SW_MAXIMIZE); }},
            {"restore", [&] { dlg.ShowWindow(SW_RESTORE); }},
        };
        ASSERT_TRUE(Painted(dlg));
        for (const Step& step : steps) {
            SCOPED_TRACE(step.name);
            step.act();
            ASSERT_TRUE(Painted(dlg));
            std::unique_ptr<testsupport::DibCanvas> moved = ScreenShot(dlg);
            dlg.RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
            ASSERT_TRUE(Painted(dlg));
            std::unique_ptr<testsupport::DibCanvas> repainted = ScreenShot(dlg);
            EXPECT_EQ("", FirstDifference(*moved, *repainted));

            CExtTreeCtrl& tree = dlg.m_pageUninstall.m_pageGroups.m_wndTree;
            const CRect rcTree = InDialog(dlg, tree.GetSafeHwnd());
            const COLORREF clrFrame = moved->Pixel(rcTree.left, rcTree.top + rcTree.Height() / 2);
            const COLORREF clrInner = ::GetSysColor(COLOR_WINDOW);
            struct Probe
            {
                int x, y;
                COLORREF clr;
            } probes[] = {
                {rcTree.left + rcTree.Width() - 10, rcTree.top, clrFrame},
                {rcTree.left + rcTree.Width() - 10, rcTree.top + 1, clrInner},
                {rcTree.left + 1, rcTree.bottom - 10, clrInner},
                {rcTree.right - 2, rcTree.top + rcTree.Height() / 2, clrInner},
            };
            for (const Probe& p : probes)
                EXPECT_EQ(p.clr, moved->Pixel(p.x, p.y)) << "tree border at " << p.x << ", " << p.y;
        }
    });
}
