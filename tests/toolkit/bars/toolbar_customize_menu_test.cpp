// The "add/remove buttons" sub-menu that a customizing site's toolbars offer: a floating
// toolbar alone, the customizable toolbars of a docked row each in a sub-menu of their
// own, and a toolbar alone in its row with the reset command at the end.
#include <gtest/gtest.h>

#include <string>

#include "framework/framework.h"
#include "framework/afxres.h"
#include "support/message_pump.h"
#include "toolkit/bars/control_bar.h"
#include "toolkit/core/cmd_item.h"
#include "toolkit/core/cmd_manager.h"
#include "toolkit/menus/popup_menu_wnd.h"

namespace {

const char* const PROFILE = "toolbar-customize-menu-test";
const UINT ID_ONE = 50500, ID_TWO = 50501, ID_LEFT_BAR = 50510, ID_RIGHT_BAR = 50511, ID_OTHER_BAR = 50512;
const UINT ID_RESET = 0x7605;

struct CustomizingSite : CExtCustomizeSite
{
    CWnd* m_pLocked = NULL;  // a toolbar the user may not change
    bool IsToolBarCustomizable(CWnd* pBar) override { return pBar != NULL && pBar != m_pLocked; }
};

// Two toolbars docked side by side at the top, a third in a row of its own at the bottom;
// each has one button whose node puts it into the visibility list.
struct CustomizeFrame
{
    CFrameWnd* pFrame = new CFrameWnd;
    CExtToolControlBar left, right, other;
    CExtCustomizeCmdTreeNode nodeOne{ID_ONE, ID_ONE}, nodeTwo{ID_TWO, ID_TWO};
    CustomizingSite site;
    CustomizeFrame()
    {
        pFrame->Create(NULL, "Frame", WS_OVERLAPPEDWINDOW, CRect(0, 0, 600, 400));
        g_CommandManager->ProfileSetup(PROFILE, pFrame->m_hWnd);
        for (UINT nID : {ID_ONE, ID_TWO})
            g_CommandManager->CmdAllocPtr(PROFILE, nID);
        pFrame->EnableDocking(CBRS_ALIGN_ANY);
        CExtControlBar::SetFrameFloatingClass(pFrame);
        const struct
        {
            CExtToolControlBar* pBar;
            const char* sName;
            UINT nBarID, nCmdID, nDockID;
            CExtCustomizeCmdTreeNode* pNode;
        } bars[] = {{&left, "Left", ID_LEFT_BAR, ID_ONE, AFX_IDW_DOCKBAR_TOP, &nodeOne},
                    {&right, "Right", ID_RIGHT_BAR, ID_TWO, AFX_IDW_DOCKBAR_TOP, &nodeTwo},
                    {&other, "Other", ID_OTHER_BAR, ID_ONE, AFX_IDW_DOCKBAR_BOTTOM, &nodeOne}};
        for (const auto& b : bars)
        {
            b.pBar->Create(b.sName, pFrame, b.nBarID, WS_CHILD | WS_VISIBLE | CBRS_TOP | CBRS_GRIPPER);
            b.pBar->InsertButton(-1, b.nCmdID, FALSE);
            b.pBar->GetButton(0)->SetBasicCmdNode(b.pNode);
            b.pBar->SetCustomizeSite(&site);
            b.pBar->EnableDocking(CBRS_ALIGN_ANY);
        }
        pFrame->DockControlBar(&left, AFX_IDW_DOCKBAR_TOP);
        pFrame->DockControlBar(&other, AFX_IDW_DOCKBAR_BOTTOM);
        pFrame->ShowWindow(SW_SHOWNA);
        pFrame->RecalcLayout();
        CRect rcDrop;
        left.GetWindowRect(&rcDrop);
        rcDrop.OffsetRect(rcDrop.Width() + 10, 0);
        pFrame->DockControlBar(&right, left.m_pDockBar, rcDrop);
        pFrame->RecalcLayout();
    }
    ~CustomizeFrame()
    {
        for (CExtToolControlBar* p : {&left, &right, &other})
            p->GetButton(0)->SetBasicCmdNode(NULL);
        pFrame->DestroyWindow();
        g_CommandManager->ProfileDestroy(PROFILE, true);
    }
};

// A menu as text: "[caption: ...]" for a sub-menu, "-" for a separator, "id" for a
// command (":1" when checked, "@bar" when it carries a bar as its data).
std::string Describe(CExtPopupMenuWnd* pPopup, CustomizeFrame& f)
{
    std::string s;
    for (int i = 0; i < pPopup->ItemGetCount(); i++)
    {
        const CExtPopupMenuWnd::MENUITEMDATA& mi = pPopup->ItemGetInfo(i);
        if (!s.empty())
            s += " ";
        if (mi.IsSeparator())
            s += "-";
        else if (mi.IsPopup())
            s += "[" + std::string(mi.GetText()) + ": " + Describe(mi.GetPopup(), f) + "]";
        else
        {
            s += std::to_string(mi.GetCmdID()) + (mi.GetCheck() ? ":1" : "");
            for (CExtToolControlBar* p : {&f.left, &f.right, &f.other})
                if (mi.m_dwUserValue == (DWORD)(DWORD_PTR)p)
                    s += "@" + std::string(p == &f.left ? "Left" : p == &f.right ? "Right" : "Other");
        }
    }
    return s;
}

}  // namespace

TEST(ToolbarCustomizeMenu, SubMenuListsTheToolbarsOfferedForTheBarsPlace)
{
    CustomizeFrame f;
    CArray<CExtControlBar*, CExtControlBar*> arrRow;
    f.left.GetRowExtBars(arrRow);
    ASSERT_EQ(2, (int)arrRow.GetSize()) << "the two top toolbars share a row";
    const std::string one = std::to_string(ID_ONE), two = std::to_string(ID_TWO), reset = std::to_string(ID_RESET);
    struct Case
    {
        const char* name;
        CExtToolControlBar CustomizeFrame::*pBar;
        bool bFloat, bLockRight;
        std::string expected;
    } cases[] = {
        {"row of two", &CustomizeFrame::left, false, false,
         "[&Add/remove buttons: [Left: " + one + ":1 - " + reset + "@Left] [Right: " + two + ":1 - " + reset +
             "@Right]]"},
        {"locked neighbour left out", &CustomizeFrame::left, false, true,
         "[&Add/remove buttons: [Left: " + one + ":1] - " + reset + "@Left]"},
        {"alone in its row", &CustomizeFrame::other, false, false,
         "[&Add/remove buttons: [Other: " + one + ":1] - " + reset + "@Other]"},
        {"floating", &CustomizeFrame::right, true, false,
         "[&Add/remove buttons: [Right: " + two + ":1] - " + reset + "@Right]"},
    };
    for (const Case& c : cases)
    {
        CExtToolControlBar& bar = f.*c.pBar;
        if (c.bFloat)
        {
            f.pFrame->FloatControlBar(&bar, CPoint(200, 200));
            f.pFrame->RecalcLayout();
        }
        f.site.m_pLocked = c.bLockRight ? &f.right : NULL;
        CExtPopupMenuWnd* pPopup = new CExtPopupMenuWnd;
        ASSERT_TRUE(pPopup->CreatePopupMenu(f.pFrame->m_hWnd)) << c.name;
        EXPECT_TRUE(CExtDockBar::AppendToolbarCustomizeMenu(pPopup, &bar)) << c.name;
        EXPECT_EQ(c.expected, Describe(pPopup, f)) << c.name;
        delete pPopup;
    }

    // A locked toolbar offers nothing.
    f.site.m_pLocked = &f.other;
    CExtPopupMenuWnd* pPopup = new CExtPopupMenuWnd;
    ASSERT_TRUE(pPopup->CreatePopupMenu(f.pFrame->m_hWnd));
    EXPECT_FALSE(CExtDockBar::AppendToolbarCustomizeMenu(pPopup, &f.other));
    EXPECT_EQ(0, pPopup->ItemGetCount());
    delete pPopup;
}

// A frame's status bar takes a known command's prompt straight; a dialog host carrying
// its own status bar hears every prompt and decides itself what the bar shows.
TEST(CommandStatusText, FramePaneTakesThePromptWhileADialogHostHearsIt)
{
    struct Host : CWnd
    {
        std::string m_heard;
        LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
        {
            if (message == WM_SETMESSAGESTRING)
                m_heard += std::to_string(wParam) + " ";
            return CWnd::WindowProc(message, wParam, lParam);
        }
    };
    const UINT ID_PROMPTED = 50520, indicators[] = {0};
    CFrameWnd* pFrame = new CFrameWnd;
    ASSERT_TRUE(pFrame->Create(NULL, "Frame", WS_OVERLAPPEDWINDOW, CRect(0, 0, 300, 200)));
    Host host;
    ASSERT_TRUE(host.CreateEx(0, AfxRegisterWndClass(0), "Host", WS_POPUP, CRect(0, 0, 300, 200), NULL, 0));
    CWnd child;
    ASSERT_TRUE(child.Create(AfxRegisterWndClass(0), "", WS_CHILD, CRect(0, 0, 10, 10), &host, 1));
    CStatusBar frameStatus, hostStatus;
    ASSERT_TRUE(frameStatus.Create(pFrame) && frameStatus.SetIndicators(indicators, 1));
    ASSERT_TRUE(hostStatus.Create(&host) && hostStatus.SetIndicators(indicators, 1));
    for (CWnd* p : {static_cast<CWnd*>(pFrame), static_cast<CWnd*>(&host)})
        g_CommandManager->ProfileSetup(PROFILE, p->m_hWnd);
    g_CommandManager->CmdAllocPtr(PROFILE, ID_PROMPTED)->m_sTipStatus = "Prompt";
    frameStatus.SetPaneText(0, "before");
    hostStatus.SetPaneText(0, "before");
    CExtControlBar::ShowCommandStatusText(pFrame, ID_PROMPTED);
    CExtControlBar::ShowCommandStatusText(&child, ID_PROMPTED);
    CExtControlBar::ShowCommandStatusText(&host, 0xE001);
    EXPECT_STREQ("Prompt", frameStatus.GetPaneText(0));
    EXPECT_STREQ("before", hostStatus.GetPaneText(0));
    EXPECT_EQ(std::to_string(ID_PROMPTED) + " " + std::to_string(0xE001) + " ", host.m_heard);
    g_CommandManager->ProfileDestroy(PROFILE, true);
    child.DestroyWindow();
    host.DestroyWindow();
    pFrame->DestroyWindow();
}
