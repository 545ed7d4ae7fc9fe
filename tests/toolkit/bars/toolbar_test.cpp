// The toolbar: buttons from a toolbar resource, the layouts of a bar in a dialog and of a
// docked bar with the chevron, hover and press, command state, access keys, the name
// and the painting per theme.
#include <gtest/gtest.h>

#include <vector>
#include "framework/framework.h"
#include "support/dib_canvas.h"
#include "support/message_pump.h"
#include "support/mouse_input.h"
#include "toolbar_test_ids.h"
#include "toolkit/bars/chevron_button.h"
#include "toolkit/bars/toolbar.h"
#include "toolkit/core/bitmap.h"
#include "toolkit/core/cmd_icon.h"
#include "toolkit/core/cmd_item.h"
#include "toolkit/core/cmd_manager.h"
#include "toolkit/core/cmd_tree.h"
#include "toolkit/menus/popup_menu_wnd.h"
#include "toolkit/menus/popup_tracking_site.h"
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
    EXPECT_FALSE(m_bar.LoadToolBar(IDR_TB_DAMAGED)) << "a count that overruns the resource";
    EXPECT_EQ(B_COUNT, m_bar.GetButtonsCount()) << "a failed load keeps the buttons";

    // Buttons added later go before the chevron, which stays last.
    EXPECT_FALSE(m_bar.InsertButton(B_COUNT + 1, ID_TB_SAVE, FALSE)) << "beyond the end";
    EXPECT_FALSE(m_bar.InsertButtonObject(0, m_bar.GetButton(B_SAVE), FALSE)) << "already in the bar";
    ASSERT_TRUE(m_bar.InsertButton(-1, ID_TB_SAVE, FALSE));
    ASSERT_EQ(B_COUNT + 1, m_bar.GetButtonsCount());
    EXPECT_EQ(ID_TB_SAVE, m_bar.GetButtonID(B_CHEVRON));
    EXPECT_TRUE(m_bar.IsContentExpandButton(B_COUNT));
    EXPECT_TRUE(m_bar.RemoveButton(B_OPEN, FALSE));
    EXPECT_FALSE(m_bar.RemoveButton(-1, FALSE));
    EXPECT_EQ(B_COUNT, m_bar.GetButtonsCount());
    EXPECT_TRUE(m_bar.GetButton(0)->IsSeparator());
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
    CRect rcWnd, rcClient;
    bar.GetWindowRect(&rcWnd);
    bar.GetClientRect(&rcClient);
    const CSize sizeNc(rcWnd.Width() - rcClient.Width(), rcWnd.Height() - rcClient.Height());

    struct Case
    {
        int nWidth;               // of the client area
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
        bar.SetWindowPos(NULL, 0, 0, c.nWidth + sizeNc.cx, 26 + sizeNc.cy, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE);
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

    // The chevron's menu: the hidden buttons with the separator between their groups,
    // then the frame's bars. It sends no command of its own.
    bar.SetWindowText("Tools");
    CExtControlBar::g_pDraggedBar = &bar;
    bar.SetWindowPos(NULL, 0, 0, 100 + sizeNc.cx, 26 + sizeNc.cy, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE);
    CExtControlBar::g_pDraggedBar = NULL;
    pFrame->SetForegroundWindow();
    const CRect rcChevron = bar.GetRightButton()->GetRect();
    const LPARAM lParam = MAKELPARAM(rcChevron.CenterPoint().x, rcChevron.CenterPoint().y);
    bar.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, lParam);
    CExtPopupMenuWnd* pMenu = g_PopupTrackingSite.GetInstance();
    ASSERT_TRUE(pMenu != NULL);
    EXPECT_TRUE(CExtToolControlBar::g_bButtonMenuTracking);
    EXPECT_EQ(B_CHEVRON, bar.GetMenuTrackingButton());
    const UINT SUB = CExtPopupMenuWnd::TYPE_POPUP, SEP = CExtPopupMenuWnd::TYPE_SEPARATOR;
    const std::vector<UINT> expected = {ID_TB_CUT, SEP, ID_TB_HELP, SEP, SUB};
    std::vector<UINT> items;
    for (int i = 0; i < pMenu->ItemGetCount(); i++)
        items.push_back(pMenu->ItemGetInfo(i).m_nCmdID);
    EXPECT_EQ(expected, items);
    if (items.size() == expected.size())
    {
        EXPECT_STREQ("&Show/hide panels", pMenu->ItemGetInfo(4).GetText());
        CExtPopupMenuWnd* pSub = pMenu->ItemGetPopup(4);
        ASSERT_TRUE(pSub != NULL);
        ASSERT_EQ(1, pSub->ItemGetCount());
        EXPECT_EQ(ID_BAR + 1, pSub->ItemGetInfo(0).GetCmdID());
        EXPECT_TRUE(pSub->ItemGetInfo(0).GetCheck()) << "the bar is shown";
    }
    CExtPopupMenuWnd::CancelMenuTracking();
    CExtToolControlBar::CancelAllButtonMenuTracking();
    PumpPending();
    EXPECT_EQ(-1, bar.GetMenuTrackingButton());
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

// A release is judged where the hand made it, whatever the pointer does before the
// bar's thread takes it (the thread is held: it takes nothing until the hand is done).
TEST_F(ToolbarTest, AReleaseIsJudgedWhereTheHandMadeIt)
{
    LayOutInDialog();
    m_host.SetForegroundWindow();
    m_host.SetActiveWindow();
    PumpPending();
    const CPoint ptOpen = Rect(B_OPEN).CenterPoint(), ptBelow(ptOpen.x, 150);  // the host, below the bar
    // Off the host, left of and above the bar: under the bar's capture, negative points.
    const CPoint ptLeft(-20, ptOpen.y), ptAbove(ptOpen.x, -10);
    const struct
    {
        const char* what;
        CPoint release, after;
        size_t nCommands;
    } cases[] = {
        {"released on Open, the pointer moved away", ptOpen, ptBelow, 1},
        {"released below the bar, the pointer moved onto Open", ptBelow, ptOpen, 0},
        {"released left of the bar, the pointer moved onto Open", ptLeft, ptOpen, 0},
        {"released above the bar, the pointer moved onto Open", ptAbove, ptOpen, 0},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.what);
        m_host.m_commands.clear();
        testsupport::SendMouseOn(0, m_bar.m_hWnd, ptOpen);
        testsupport::SendMouseOn(MOUSEEVENTF_LEFTDOWN, m_bar.m_hWnd, ptOpen);
        EXPECT_TRUE(testsupport::PumpUntilIdle([&] { return m_bar.GetPressedButton() == B_OPEN; }));
        testsupport::SendMouseOn(0, m_bar.m_hWnd, c.release);
        testsupport::SendMouseOn(MOUSEEVENTF_LEFTUP, m_bar.m_hWnd, c.release);
        testsupport::SendMouseOn(0, m_bar.m_hWnd, c.after);
        EXPECT_TRUE(testsupport::PumpUntilIdle());
        EXPECT_EQ(-1, m_bar.GetPressedButton());
        EXPECT_EQ(c.nCommands, m_host.m_commands.size());
    }
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

TEST(ToolbarInDialog, LaysOutFromTheTemplateAndPaintsThroughEachTheme)
{
    const COLORREF RED = RGB(255, 0, 0);
    struct ThemeCase
    {
        const char* sName;
        CExtPaintManager* (*pfnMake)();
        int nHoverFill;                // logical colour of a hovered or pressed button's face
        int nSepX;                     // the separator's line, relative to its left edge
        COLORREF (*pfnSepColor)(CExtPaintManager*);
    } themes[] = {
        {"XP", [] { return (CExtPaintManager*)new CExtPaintManagerXP; }, 1001, 2,
         [](CExtPaintManager* p) { return p->LookupColor(2002); }},
        {"Office 2003", [] { return (CExtPaintManager*)new CExtPaintManagerOffice2003; }, 3021, 2,
         [](CExtPaintManager* p) { return p->LookupColor(3011); }},
        {"Studio 2005", [] { return (CExtPaintManager*)new CExtPaintManagerStudio2005; }, 3021, 3,
         [](CExtPaintManager* p) {
             return CExtBitmap::stat_RGB_Blend(p->LookupColor(COLOR_BTNFACE), p->LookupColor(COLOR_BTNSHADOW), 144);
         }},
    };
    for (const ThemeCase& t : themes)
    {
        SCOPED_TRACE(t.sName);
        ASSERT_TRUE(g_CurrentPaintManager.InstallPaintManager(t.pfnMake()));
        CExtPaintManager* pPM = g_CurrentPaintManager.GetPM();
        CExtToolControlBar bar;  // constructing a bar registers the template's window class
        CDialog dlg;
        ASSERT_TRUE(dlg.Create(IDD_TB_DIALOG));
        ASSERT_TRUE(g_CommandManager->ProfileSetup(PROFILE, dlg.GetSafeHwnd()));
        ASSERT_TRUE(bar.SubclassDlgItem(IDC_TB_BAR, &dlg));
        ASSERT_TRUE(bar.LoadToolBar(IDR_TB_TOOLBAR));
        dlg.SetWindowPos(NULL, 100, 100, 300, 120, SWP_NOZORDER | SWP_SHOWWINDOW);
        dlg.RepositionBars(0, 0xFFFF, 0);

        // Stretched across the dialog's top, 22 + 1 + 4 pixels high; rows offset by (2, 1).
        CRect rcBar;
        bar.GetWindowRect(&rcBar);
        dlg.ScreenToClient(&rcBar);
        CRect rcClient;
        dlg.GetClientRect(&rcClient);
        EXPECT_EQ(CRect(0, 0, rcClient.Width(), 27), rcBar);
        EXPECT_EQ(CRect(2, 1, 30, 23), bar.GetButton(B_OPEN)->GetRect());

        bar.GetButton(B_SAVE)->SetHot(true);
        bar.GetButton(B_CUT)->ModifyStyle(0x20000, 0);
        DibCanvas canvas(rcBar.Width(), rcBar.Height(), RGB(1, 2, 3));
        bar.DoPaint(CDC::FromHandle(canvas.Dc()));
        const CRect rcOpen = bar.GetButton(B_OPEN)->GetRect(), rcSave = bar.GetButton(B_SAVE)->GetRect();
        const CRect rcCut = bar.GetButton(B_CUT)->GetRect(), rcSep = bar.GetButton(B_SEP1)->GetRect();
        const int yMid = rcSep.CenterPoint().y;
        EXPECT_EQ(pPM->LookupColor(1000), canvas.Pixel(200, 10)) << "bar background";
        EXPECT_EQ(RED, canvas.Pixel(rcOpen.CenterPoint().x, rcOpen.CenterPoint().y)) << "Open's icon";
        EXPECT_EQ(pPM->LookupColor(COLOR_HIGHLIGHT), canvas.Pixel(rcSave.left, yMid)) << "hover frame";
        EXPECT_EQ(pPM->LookupColor(t.nHoverFill), canvas.Pixel(rcSave.left + 2, yMid)) << "hover face";
        EXPECT_EQ(pPM->LookupColor(COLOR_HIGHLIGHT), canvas.Pixel(rcCut.left, yMid)) << "pressed frame";
        EXPECT_EQ(pPM->LookupColor(t.nHoverFill), canvas.Pixel(rcCut.left + 2, yMid)) << "pressed face";
        EXPECT_EQ(t.pfnSepColor(pPM), canvas.Pixel(rcSep.left + t.nSepX, yMid)) << "separator line";
        EXPECT_EQ(canvas.Pixel(rcSep.left, yMid), canvas.Pixel(rcSep.right - 1, yMid)) << "the line is in the middle";
        EXPECT_NE(canvas.Pixel(rcSep.left, yMid), canvas.Pixel(rcSep.left + t.nSepX, yMid));

        bar.DestroyWindow();
        g_CommandManager->ProfileDestroy(PROFILE, true);
        dlg.DestroyWindow();
    }
    ASSERT_TRUE(g_CurrentPaintManager.InstallPaintManager(new CExtPaintManagerXP));
}

TEST_F(ToolbarTest, CheckBoxButtonTogglesOnlyWhenReleasedOverIt)
{
    LayOutInDialog();
    m_host.SetForegroundWindow();
    m_host.SetActiveWindow();
    const DWORD CHECKBOX = 0x2, CHECKED = 0x10000, INDETERMINATE = 0x100000, DISABLED = 0x40000;
    struct Case
    {
        DWORD dwBefore;
        int nReleaseOver;
        DWORD dwAfter;
    } cases[] = {
        {CHECKBOX, B_OPEN, CHECKBOX | CHECKED},
        {CHECKBOX | CHECKED, B_OPEN, CHECKBOX},
        {CHECKBOX | INDETERMINATE, B_OPEN, CHECKBOX | CHECKED},  // indeterminate becomes checked
        {CHECKBOX | INDETERMINATE | CHECKED, B_OPEN, CHECKBOX},  // loses the mark, then toggles
        {CHECKBOX, B_SAVE, CHECKBOX},                           // released elsewhere: unchanged
        {CHECKBOX | CHECKED, B_SAVE, CHECKBOX | CHECKED},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(testing::Message() << std::hex << c.dwBefore << " released over " << c.nReleaseOver);
        m_bar.GetButton(B_OPEN)->SetStyle(c.dwBefore);
        m_bar.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, At(B_OPEN));
        m_bar.SendMessage(WM_LBUTTONUP, 0, At(c.nReleaseOver));
        EXPECT_EQ(c.dwAfter, m_bar.GetButtonStyle(B_OPEN) & ~DISABLED);
    }
}

TEST_F(ToolbarTest, PostedMenuRequestMovesAnOpenMenuOrCancelsTracking)
{
    LayOutInDialog();
    m_host.SetForegroundWindow();
    for (int i : {B_SAVE, B_CUT})
    {
        CMenu menu;
        ASSERT_TRUE(menu.CreatePopupMenu());
        menu.AppendMenu(MF_STRING, ID_TB_HELP, "Help");
        ASSERT_TRUE(m_bar.SetButtonMenu(i, menu.Detach(), false, true, FALSE));
    }
    ASSERT_TRUE(m_bar.TrackButtonMenu(B_SAVE));
    ASSERT_TRUE(CExtPopupMenuWnd::IsMenuTracking());
    EXPECT_EQ(B_SAVE, m_bar.GetMenuTrackingButton());
    {
        // The menus learn where the button that opened them lies, so the release of
        // that press does not close them.
        CRect rcExpected = Rect(B_SAVE), rcTracked;
        m_bar.ClientToScreen(&rcExpected);
        ASSERT_TRUE(g_PopupBarServices.GetTrackedButtonRect(&rcTracked));
        EXPECT_EQ(rcExpected, rcTracked);
    }
    EXPECT_TRUE(m_bar.TrackButtonMenu(B_SAVE)) << "the open menu's button answers at once";
    EXPECT_EQ(0x20000u, m_bar.GetButtonStyle(B_SAVE) & 0x30000) << "pressed, not checked, while open";

    m_bar.PostMessage(CExtToolControlBar::g_nMsgTrackButtonMenu, B_CUT, 0);
    PumpPending();
    EXPECT_TRUE(CExtPopupMenuWnd::IsMenuTracking());
    EXPECT_EQ(B_CUT, m_bar.GetMenuTrackingButton()) << "the menu moved to the next button";
    EXPECT_EQ(0u, m_bar.GetButtonStyle(B_SAVE) & 0x30000) << "the first button let go";

    CExtPopupMenuWnd::CancelMenuTracking();
    CExtToolControlBar::CancelAllButtonMenuTracking();
    PumpPending();
    ASSERT_FALSE(CExtPopupMenuWnd::IsMenuTracking());
    m_bar.PostMessage(CExtToolControlBar::g_nMsgTrackButtonMenu, B_SAVE, 0);
    m_bar.PostMessage(CExtToolControlBar::g_nMsgTrackButtonMenu, 999, 0);
    PumpPending();
    EXPECT_FALSE(CExtPopupMenuWnd::IsMenuTracking()) << "no menu open: the request cancels";
    EXPECT_FALSE(CExtToolControlBar::g_bButtonMenuTracking);
    EXPECT_EQ(-1, m_bar.GetMenuTrackingButton());
    EXPECT_FALSE(m_bar.TrackButtonMenu(B_OPEN)) << "no popup";
    EXPECT_TRUE(m_host.m_commands.empty());
}

TEST_F(ToolbarTest, DockedVerticallyStacksOneColumnWithTheChevronAtTheBottom)
{
    CFrameWnd* pFrame = new CFrameWnd;
    ASSERT_TRUE(pFrame->Create(NULL, "Frame", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(50, 50, 450, 450)));
    ASSERT_TRUE(g_CommandManager->ProfileWndAdd(PROFILE, pFrame->GetSafeHwnd()));
    CExtToolControlBar bar;
    ASSERT_TRUE(bar.Create(NULL, pFrame, ID_BAR + 2, WS_CHILD | WS_VISIBLE | CBRS_LEFT));
    ASSERT_TRUE(bar.LoadToolBar(IDR_TB_TOOLBAR));
    pFrame->EnableDocking(CBRS_ALIGN_ANY);
    bar.EnableDocking(CBRS_ALIGN_ANY);
    pFrame->DockControlBar(&bar, AFX_IDW_DOCKBAR_LEFT);
    pFrame->RecalcLayout();
    ASSERT_EQ(CExtToolControlBar::__LAYOUT_DOCKED_VERT, bar.GetLayoutType());
    CRect rcClient;
    bar.GetClientRect(&rcClient);
    // Icon buttons measured downwards are 23 x 24, separators 6 high; all centred across
    // the column, the chevron 11 high at the bottom.
    const int aTop[B_CHEVRON] = {0, 24, 30, 54, 78, 84};
    for (int i = 0; i < B_CHEVRON; i++)
    {
        SCOPED_TRACE(testing::Message() << "button " << i);
        const CRect rc = bar.GetButton(i)->GetRect();
        EXPECT_EQ(aTop[i], rc.top);
        EXPECT_EQ(bar.GetButton(i)->IsSeparator() ? 6 : 24, rc.Height());
        EXPECT_EQ((rcClient.Width() - rc.Width()) / 2, rc.left);
    }
    EXPECT_EQ(CRect(0, rcClient.bottom - 11, rcClient.right, rcClient.bottom), bar.GetRightButton()->GetRect());
    bar.DestroyWindow();
    pFrame->DestroyWindow();
}

TEST_F(ToolbarTest, RowBreakSeparatorPaintsALineAcrossTheGap)
{
    const CSize size = m_bar.CalcDynamicLayout(60, LM_HORZ | LM_COMMIT);
    m_bar.SetWindowPos(NULL, 0, 0, size.cx, size.cy, SWP_NOZORDER | SWP_NOACTIVATE);
    m_bar.RecalcButtonPositions();
    ASSERT_TRUE(m_bar.GetButton(B_SEP1)->IsWrap(CExtToolControlBar::__LAYOUT_FLOATING));
    CRect rcClient;
    m_bar.GetClientRect(&rcClient);
    DibCanvas canvas(rcClient.Width(), rcClient.Height(), RGB(1, 2, 3));
    m_bar.DoPaint(CDC::FromHandle(canvas.Dc()));
    CExtPaintManager* pPM = g_CurrentPaintManager.GetPM();
    const COLORREF clrLine = pPM->LookupColor(2002), clrBack = pPM->LookupColor(1000);
    // The 6-pixel gap below the first row holds the line 2 pixels down, 3 pixels in from
    // both ends of the bar.
    const int yLine = Rect(B_SEP1).bottom + 2;
    struct Probe
    {
        int x, y;
        COLORREF clr;
    } probes[] = {{3, yLine, clrLine},        {rcClient.right - 4, yLine, clrLine}, {2, yLine, clrBack},
                  {rcClient.right - 3, yLine, clrBack}, {20, yLine - 1, clrBack}, {20, yLine + 1, clrBack}};
    for (const Probe& p : probes)
        EXPECT_EQ(p.clr, canvas.Pixel(p.x, p.y)) << p.x << "," << p.y;
}

TEST_F(ToolbarTest, VisibilityListHidesAndShowsButtonsAtOnce)
{
    LayOutInDialog();
    EXPECT_FALSE(m_bar.HasVisibilityMenuItems()) << "buttons without command nodes are not listed";
    CExtCustomizeCmdTreeNode nodeSave(ID_TB_SAVE, ID_TB_SAVE), nodeHelp(ID_TB_HELP, ID_TB_HELP);
    nodeHelp.ModifyFlags(0x200, 0);  // kept off the list
    m_bar.GetButton(B_SAVE)->SetBasicCmdNode(&nodeSave);
    m_bar.GetButton(B_HELP)->SetBasicCmdNode(&nodeHelp);
    ASSERT_TRUE(m_bar.HasVisibilityMenuItems());

    CExtPopupMenuWnd* pPopup = new CExtPopupMenuWnd;
    ASSERT_TRUE(pPopup->CreatePopupMenu(m_host.GetSafeHwnd()));
    m_bar.BuildVisibilityMenu(pPopup);
    ASSERT_EQ(1, pPopup->ItemGetCount());
    CExtPopupMenuWnd::MENUITEMDATA& mi = pPopup->ItemGetInfo(0);
    EXPECT_EQ(ID_TB_SAVE, mi.GetCmdID());
    EXPECT_TRUE(mi.GetCheck()) << "shown";
    const int nCutLeft = Rect(B_CUT).left;

    ASSERT_TRUE(mi.m_pCbItemClick != NULL);
    EXPECT_TRUE(mi.m_pCbItemClick(pPopup, &mi));
    EXPECT_FALSE(mi.GetCheck());
    EXPECT_EQ(0x80000u, m_bar.GetButtonStyle(B_SAVE) & 0x80000);
    EXPECT_FALSE(m_bar.GetButton(B_SAVE)->IsVisible());
    EXPECT_FALSE(m_bar.GetButton(B_SEP1)->IsVisible()) << "the separator before it goes along";
    EXPECT_EQ(Rect(B_OPEN).right, Rect(B_CUT).left) << "the bar re-placed its buttons at once";

    EXPECT_TRUE(mi.m_pCbItemClick(pPopup, &mi));
    EXPECT_TRUE(mi.GetCheck());
    EXPECT_EQ(0u, m_bar.GetButtonStyle(B_SAVE) & 0x80000);
    EXPECT_EQ(nCutLeft, Rect(B_CUT).left);
    delete pPopup;
    m_bar.GetButton(B_SAVE)->SetBasicCmdNode(NULL);
    m_bar.GetButton(B_HELP)->SetBasicCmdNode(NULL);
}

namespace {

// A site in customize mode whose drag carries one node.
struct DragSite : CExtCustomizeSite
{
    CExtCustomizeCmdTreeNode* m_pDragged = NULL;
    bool IsCustomizeMode() const override { return true; }
    CExtCustomizeCmdTreeNode* DraggedNodeGet() override { return m_pDragged; }
};

}  // namespace

TEST_F(ToolbarTest, CustomizeDragMarksDropsAndMovesButtons)
{
    LayOutInDialog();
    DragSite site;
    m_bar.SetCustomizeSite(&site);
    CExtCustomizeCmdTreeNode node(ID_TB_HELP, ID_TB_HELP);
    CExtCustomizeSite::CCmdDragInfo drag(&node);
    const CRect rcSave = Rect(B_SAVE);
    struct Case
    {
        int x;
        DWORD dwKeys;
        int nMarked, nSide;
        DROPEFFECT de;
    } cases[] = {
        {rcSave.left + 2, 0, B_SAVE, -1, DROPEFFECT_MOVE},
        {rcSave.right - 2, MK_CONTROL, B_SAVE, 1, DROPEFFECT_COPY},
        {Rect(B_SEP1).left + 2, 0, B_OPEN, 1, DROPEFFECT_MOVE},  // a separator passes to its left neighbour
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.x);
        EXPECT_EQ(c.de, m_bar.OnCustomizeTargetOver(drag, CPoint(c.x, rcSave.CenterPoint().y), c.dwKeys));
        EXPECT_EQ(m_bar.GetButton(c.nMarked), m_bar.m_pDropMarkerButton);
        EXPECT_EQ(c.nSide, m_bar.m_nDropMarkerSide);
    }
    m_bar.OnCustomizeTargetLeave();
    EXPECT_TRUE(m_bar.m_pDropMarkerButton == NULL);

    // Dropped before Save: a new button for the node's command stands there.
    m_bar.OnCustomizeTargetOver(drag, CPoint(rcSave.left + 2, rcSave.CenterPoint().y), 0);
    ASSERT_TRUE(m_bar.OnCustomizeTargetDrop(drag, CPoint(rcSave.left + 2, 5), DROPEFFECT_MOVE));
    ASSERT_EQ(B_COUNT + 1, m_bar.GetButtonsCount());
    EXPECT_EQ(ID_TB_HELP, m_bar.GetButtonID(B_SAVE));
    CExtCustomizeCmdTreeNode* pNew = m_bar.GetButton(B_SAVE)->GetCmdNode(false);
    ASSERT_TRUE(pNew != NULL);
    EXPECT_NE(&node, pNew) << "the bar keeps its own copy";

    // Moved away: the button leaves; copied away: it stays.
    site.m_pDragged = pNew;
    m_bar.OnCustomizeSourceDragComplete(DROPEFFECT_COPY, false, NULL);
    EXPECT_EQ(B_COUNT + 1, m_bar.GetButtonsCount());
    m_bar.OnCustomizeSourceDragComplete(DROPEFFECT_MOVE, false, NULL);
    EXPECT_EQ(B_COUNT, m_bar.GetButtonsCount());
    EXPECT_EQ(ID_TB_SAVE, m_bar.GetButtonID(B_SAVE));
    m_bar.SetCustomizeSite(NULL);
}
