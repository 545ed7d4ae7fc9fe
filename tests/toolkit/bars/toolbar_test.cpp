// The toolbar: buttons from a toolbar resource, the layouts of a bar in a dialog and of a
// docked bar with the chevron, hover and press, command state, access keys, the name
// and the painting per theme.
#include <gtest/gtest.h>

#include <vector>
#include "framework/framework.h"
#include "support/dib_canvas.h"
#include "support/message_pump.h"
#include "toolbar_test_ids.h"
#include "toolkit/bars/chevron_button.h"
#include "toolkit/bars/toolbar.h"
#include "toolkit/core/cmd_icon.h"
#include "toolkit/core/cmd_item.h"
#include "toolkit/core/cmd_manager.h"
#include "toolkit/theme/paint_manager.h"

using testsupport::DibCanvas;
using testsupport::PumpPending;

namespace {

const char* const PROFILE = "toolbar-test-profile";
const UINT ID_BAR = 0xE803;

// The command receiver: it handles Open only and records every command it gets.
struct Host : CWnd
{
    std::vector<UINT> m_commands;
    Host(DWORD dwStyle = WS_POPUP | WS_VISIBLE)
    {
        CreateEx(0, NULL, "Host", dwStyle | WS_CLIPCHILDREN, 100, 100, 400, 200, NULL, NULL);
    }
    ~Host()
    {
        if (m_hWnd != NULL)
            DestroyWindow();
    }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_COMMAND)
            m_commands.push_back(LOWORD(wParam));
        return CWnd::WindowProc(message, wParam, lParam);
    }
    afx_msg void OnOpen() {}
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(Host, CWnd)
    ON_COMMAND(ID_TB_OPEN, &Host::OnOpen)
END_MESSAGE_MAP()

// Buttons of the resource in bar order: Open, separator, Save, Cut, separator, Help,
// then the chevron.
enum { B_OPEN, B_SEP1, B_SAVE, B_CUT, B_SEP2, B_HELP, B_CHEVRON, B_COUNT };

class ToolbarTest : public ::testing::Test
{
protected:
    Host m_host;
    CExtToolControlBar m_bar;

    void SetUp() override
    {
        ASSERT_TRUE(g_CurrentPaintManager.InstallPaintManager(new CExtPaintManagerXP));
        ASSERT_TRUE(m_host.GetSafeHwnd() != NULL);
        ASSERT_TRUE(g_CommandManager->ProfileSetup(PROFILE, m_host.GetSafeHwnd()));
        ASSERT_TRUE(m_bar.Create(NULL, &m_host, ID_BAR, WS_CHILD | WS_VISIBLE | CBRS_TOP | CBRS_SIZE_DYNAMIC));
        ASSERT_TRUE(m_bar.LoadToolBar(IDR_TB_TOOLBAR));
    }
    void TearDown() override
    {
        if (m_bar.GetSafeHwnd() != NULL)
            m_bar.DestroyWindow();
        g_CommandManager->ProfileDestroy(PROFILE, true);
    }
    CRect Rect(int i) { return m_bar.GetButton(i)->GetRect(); }
    LPARAM At(int i) { return MAKELPARAM(Rect(i).CenterPoint().x, Rect(i).CenterPoint().y); }
    void LayOutInDialog()
    {
        const CSize size = m_bar.CalcFixedLayout(FALSE, TRUE);
        m_bar.SetWindowPos(NULL, 0, 0, size.cx, size.cy, SWP_NOZORDER | SWP_NOACTIVATE);
        m_bar.RecalcButtonPositions();
    }
};

}  // namespace

TEST_F(ToolbarTest, ButtonsComeFromTheResourceWithSeparatorsTipsAndIcons)
{
    struct Case
    {
        UINT nID;
        bool bSeparator;
        const char* sTip;
    } cases[] = {{ID_TB_OPEN, false, "Open"}, {0, true, ""},         {ID_TB_SAVE, false, "Save"},
                 {ID_TB_CUT, false, "Cut"},   {0, true, ""},         {ID_TB_HELP, false, "Help"}};
    ASSERT_EQ(B_COUNT, m_bar.GetButtonsCount());
    EXPECT_TRUE(m_bar.IsContentExpandButton(B_CHEVRON));
    for (int i = 0; i < B_CHEVRON; i++)
    {
        SCOPED_TRACE(testing::Message() << "button " << i);
        EXPECT_EQ(cases[i].nID, m_bar.GetButtonID(i));
        EXPECT_EQ(cases[i].bSeparator, m_bar.GetButton(i)->IsSeparator());
        if (cases[i].bSeparator)
            continue;
        CExtCmdItem* pItem = g_CommandManager->CmdGetPtr(PROFILE, cases[i].nID);
        ASSERT_TRUE(pItem != NULL);
        EXPECT_STREQ(cases[i].sTip, pItem->m_sTipTool);
        CExtCmdIcon* pIcon = m_bar.GetButton(i)->GetIconPtr();
        ASSERT_TRUE(pIcon != NULL);
        EXPECT_EQ(CSize(16, 15), CSize(pIcon->GetSize()));
    }
    EXPECT_EQ(0u, m_bar.GetButtonID(B_CHEVRON + 1)) << "bad index";
    EXPECT_TRUE(m_bar.GetButton(-1) == NULL);
    EXPECT_FALSE(m_bar.RemoveButton(B_CHEVRON)) << "the chevron stays";
    EXPECT_FALSE(m_bar.LoadToolBar(IDR_TB_TOOLBAR + 99)) << "no such resource";
    EXPECT_EQ(B_COUNT, m_bar.GetButtonsCount()) << "a failed load keeps the buttons";
}

TEST_F(ToolbarTest, BarInADialogLaysOutInRowsAndWrapsWhenNarrow)
{
    // Icon buttons measure 28 x 22, separators 6; a bar outside a frame lays out like a
    // floating one: rows offset by (2, 1), no chevron, 4 pixels more across.
    struct Case
    {
        int nWidth;  // 0: the fixed layout
        CSize size;
        CRect rc[B_CHEVRON];
    } cases[] = {
        {0, CSize(130, 29), {{2, 1, 30, 23}, {30, 1, 36, 23}, {36, 1, 64, 23}, {64, 1, 92, 23},
                             {92, 1, 98, 23}, {98, 1, 126, 23}}},
        // Two rows at 100 pixels: the narrowest width that still gives two rows.
        {100, CSize(68, 57), {{2, 1, 30, 23}, {30, 1, 36, 23}, {36, 1, 64, 23}, {2, 29, 30, 51},
                              {30, 29, 36, 51}, {36, 29, 64, 51}}},
        {60, CSize(62, 85), {{2, 1, 30, 23}, {30, 1, 36, 23}, {2, 29, 30, 51}, {30, 29, 58, 51},
                             {58, 29, 64, 51}, {2, 57, 30, 79}}},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(testing::Message() << "width " << c.nWidth);
        const CSize size = c.nWidth == 0 ? m_bar.CalcFixedLayout(FALSE, TRUE)
                                         : m_bar.CalcDynamicLayout(c.nWidth, LM_HORZ | LM_COMMIT);
        EXPECT_EQ(c.size, size);
        m_bar.SetWindowPos(NULL, 0, 0, size.cx, size.cy, SWP_NOZORDER | SWP_NOACTIVATE);
        m_bar.RecalcButtonPositions();
        for (int i = 0; i < B_CHEVRON; i++)
        {
            EXPECT_EQ(c.rc[i], Rect(i)) << "button " << i;
            EXPECT_TRUE(m_bar.GetButton(i)->IsVisible()) << "button " << i;
        }
        EXPECT_FALSE(m_bar.GetButton(B_CHEVRON)->IsVisible());
    }
    EXPECT_EQ(CSize(32767, 29), m_bar.CalcFixedLayout(TRUE, TRUE)) << "stretched across the dialog";
}

TEST_F(ToolbarTest, DockedBarHidesWhatDoesNotFitBehindTheChevron)
{
    CFrameWnd* pFrame = new CFrameWnd;
    ASSERT_TRUE(pFrame->Create(NULL, "Frame", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(50, 50, 450, 250)));
    ASSERT_TRUE(g_CommandManager->ProfileWndAdd(PROFILE, pFrame->GetSafeHwnd()));
    CExtToolControlBar bar;
    ASSERT_TRUE(bar.Create(NULL, pFrame, ID_BAR + 1, WS_CHILD | WS_VISIBLE | CBRS_TOP));
    ASSERT_TRUE(bar.LoadToolBar(IDR_TB_TOOLBAR));
    pFrame->EnableDocking(CBRS_ALIGN_ANY);
    bar.EnableDocking(CBRS_ALIGN_ANY);
    pFrame->DockControlBar(&bar, AFX_IDW_DOCKBAR_TOP);
    pFrame->RecalcLayout();
    ASSERT_EQ(CExtToolControlBar::__LAYOUT_DOCKED_HORZ, bar.GetLayoutType());

    struct Case
    {
        int nWidth;
        std::vector<int> shown;   // buttons shown, in order
        std::vector<int> hidden;  // the chevron's list
    } cases[] = {
        {144, {B_OPEN, B_SEP1, B_SAVE, B_CUT, B_SEP2, B_HELP}, {}},
        // The button crossing the edge goes; a separator left at the end goes too.
        {120, {B_OPEN, B_SEP1, B_SAVE, B_CUT}, {B_HELP}},
        // Hidden groups keep the separator that stood between them.
        {100, {B_OPEN, B_SEP1, B_SAVE}, {B_CUT, B_SEP2, B_HELP}},
        {70, {B_OPEN}, {B_SAVE, B_CUT, B_SEP2, B_HELP}},
        {40, {B_OPEN}, {B_SEP1, B_SAVE, B_CUT, B_SEP2, B_HELP}},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(testing::Message() << "width " << c.nWidth);
        // While a bar is dragged its size is its own: the frame does not lay it out.
        CExtControlBar::g_pDraggedBar = &bar;
        bar.SetWindowPos(NULL, 0, 0, c.nWidth, 26, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE);
        CExtControlBar::g_pDraggedBar = NULL;
        std::vector<int> shown, hidden;
        int x = 0;
        for (int i = 0; i < B_CHEVRON; i++)
            if (bar.GetButton(i)->IsVisible())
            {
                shown.push_back(i);
                EXPECT_EQ(x, bar.GetButton(i)->GetRect().left) << "button " << i;
                EXPECT_EQ(2, bar.GetButton(i)->GetRect().top) << "centred across the bar";
                x = bar.GetButton(i)->GetRect().right;
            }
        CExtBarContentExpandButton* pChevron = bar.GetRightButton();
        for (INT_PTR k = 0; k < pChevron->GetButtons().GetSize(); k++)
            hidden.push_back(bar.GetButtonIndex(pChevron->GetButtons()[k]));
        EXPECT_EQ(c.shown, shown);
        EXPECT_EQ(c.hidden, hidden);
        EXPECT_EQ(CRect(c.nWidth - 11, 0, c.nWidth, 26), pChevron->GetRect());
        EXPECT_TRUE(pChevron->IsVisible());
    }
    bar.DestroyWindow();
    pFrame->DestroyWindow();
}

TEST_F(ToolbarTest, HoverPressAndReleaseFollowThePointer)
{
    LayOutInDialog();
    m_host.SetForegroundWindow();
    m_host.SetActiveWindow();
    PumpPending();
    const DWORD PRESSED = 0x20000;
    struct Step
    {
        UINT nMsg;
        int nOver;  // the button under the pointer
        int nHover, nPressed;
        bool bPressedLook;
        size_t nCommands;
    } steps[] = {
        {WM_MOUSEMOVE, B_OPEN, B_OPEN, -1, false, 0},
        {WM_MOUSEMOVE, B_SAVE, B_SAVE, -1, false, 0},
        {WM_LBUTTONDOWN, B_OPEN, B_SAVE, B_OPEN, true, 0},
        {WM_MOUSEMOVE, B_SAVE, B_SAVE, B_OPEN, false, 0},  // off the pressed button: not pressed
        {WM_MOUSEMOVE, B_OPEN, B_SAVE, B_OPEN, true, 0},   // back on it: pressed again
        {WM_MOUSEMOVE, B_SAVE, B_SAVE, B_OPEN, false, 0},
        {WM_LBUTTONUP, B_SAVE, -1, -1, false, 0},  // released elsewhere: no click
        {WM_LBUTTONDOWN, B_OPEN, -1, B_OPEN, true, 0},
        {WM_LBUTTONUP, B_OPEN, -1, -1, false, 1},
    };
    for (size_t k = 0; k < sizeof(steps) / sizeof(steps[0]); k++)
    {
        const Step& s = steps[k];
        SCOPED_TRACE(testing::Message() << "step " << k);
        m_bar.SendMessage(s.nMsg, s.nMsg == WM_LBUTTONDOWN ? MK_LBUTTON : 0, At(s.nOver));
        EXPECT_EQ(s.nHover, m_bar.GetHoverButton());
        EXPECT_EQ(s.nPressed, m_bar.GetPressedButton());
        EXPECT_EQ(s.bPressedLook, (m_bar.GetButtonStyle(B_OPEN) & PRESSED) != 0);
        EXPECT_EQ(s.nCommands, m_host.m_commands.size());
    }
    ASSERT_EQ(1u, m_host.m_commands.size());
    EXPECT_EQ(ID_TB_OPEN, m_host.m_commands[0]);
}

TEST_F(ToolbarTest, CommandStateDisablesButtonsWithoutHandlerAndRefusesTheirClicks)
{
    LayOutInDialog();
    m_host.SetActiveWindow();
    m_bar.OnUpdateCmdUI(NULL, TRUE);
    struct Case
    {
        int nButton;
        bool bEnabled;
    } cases[] = {{B_OPEN, true}, {B_SAVE, false}, {B_CUT, false}, {B_HELP, false}};
    for (const Case& c : cases)
    {
        SCOPED_TRACE(testing::Message() << "button " << c.nButton);
        EXPECT_EQ(c.bEnabled, !m_bar.GetButton(c.nButton)->IsDisabled());
        EXPECT_EQ(c.bEnabled, g_CommandManager->CmdGetPtr(PROFILE, m_bar.GetButtonID(c.nButton))->IsEnabled());
        m_bar.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, At(c.nButton));
        EXPECT_EQ(c.bEnabled, (m_bar.GetButtonStyle(c.nButton) & 0x20000) != 0) << "pressed look";
        m_bar.SendMessage(WM_LBUTTONUP, 0, At(c.nButton));
    }
    ASSERT_EQ(1u, m_host.m_commands.size()) << "only the enabled button sends";
    EXPECT_EQ(ID_TB_OPEN, m_host.m_commands[0]);
}

TEST_F(ToolbarTest, AccessKeysNameAndNavigation)
{
    struct Case
    {
        const char* sText;
        TCHAR ch;
        int nExpected;
    } cases[] = {
        {"&Open", 'O', B_OPEN},      {"&open", 'O', B_OPEN},  {"Open", 'O', -1},
        {"A&&B", 'B', -1},            // "&&" is a literal ampersand, no access key
        {"Sa&&ve &As", 'A', B_OPEN}, {"Sa&&ve &As", 'V', -1}, {"Open&", 'O', -1},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.sText);
        g_CommandManager->CmdGetPtr(PROFILE, ID_TB_OPEN)->m_sToolbarText = c.sText;
        EXPECT_EQ(c.nExpected, m_bar.GetButtonByAccessKey(c.ch));
    }

    CString sName;
    m_bar.GetBarCaption(sName);
    EXPECT_STREQ("Toolbar #0000E803", sName);
    m_bar.SetWindowText("Tools");
    m_bar.GetBarCaption(sName);
    EXPECT_STREQ("Tools", sName);

    LayOutInDialog();
    EXPECT_EQ(B_SAVE, m_bar.GetNextNavigableButton(B_OPEN, TRUE)) << "separators are skipped";
    EXPECT_EQ(B_HELP, m_bar.GetNextNavigableButton(B_OPEN, FALSE)) << "cyclic; the hidden chevron is skipped";
}

TEST_F(ToolbarTest, ToolTipHitTestAnswersTheCommandOrNoTool)
{
    LayOutInDialog();
    TOOLINFO ti;
    ::memset(&ti, 0, sizeof(ti));
    ti.cbSize = sizeof(ti);
    // The bars show their tips in the shared menu tip; without it the window's own
    // tool-tip control asks the buttons.
    CExtControlBar::g_bUseAdvancedToolTips = false;
    EXPECT_EQ((INT_PTR)ID_TB_SAVE, m_bar.OnToolHitTest(Rect(B_SAVE).CenterPoint(), &ti));
    ASSERT_TRUE(ti.lpszText != NULL && ti.lpszText != LPSTR_TEXTCALLBACK);
    EXPECT_STREQ("Save", ti.lpszText);
    ::free(ti.lpszText);
    ::memset(&ti, 0, sizeof(ti));
    ti.cbSize = sizeof(ti);
    g_CommandManager->CmdGetPtr(PROFILE, ID_TB_CUT)->m_sTipTool.Empty();
    EXPECT_EQ(-1, m_bar.OnToolHitTest(Rect(B_CUT).CenterPoint(), &ti)) << "no tip text: no tool";
    EXPECT_TRUE(ti.lpszText == NULL);
    CExtControlBar::g_bUseAdvancedToolTips = true;
}
