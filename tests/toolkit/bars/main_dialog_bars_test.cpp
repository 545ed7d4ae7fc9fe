// A resizable dialog shaped like the application's main dialog (menu bar and toolbar from
// placeholder controls of the template, status bar made in code) and a frame with the
// same three bars: the menu bar's buttons from a MENU resource, its popups by click, Alt,
// F10 and mnemonics, moving between popups, Esc, the status bar's panes and idle text,
// the layout after resizing, the frame menu taken over, a borrowed MDI menu, and the
// bars' colours per theme.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "framework/framework.h"
#include "support/dib_canvas.h"
#include "support/message_pump.h"
#include "toolkit/bars/control_bar.h"
#include "toolkit/bars/bar_mdi_buttons.h"
#include "toolkit/core/cmd_item.h"
#include "toolkit/core/cmd_manager.h"
#include "toolkit/dialogs/resizable_dialog.h"
#include "toolkit/menus/popup_menu_wnd.h"
#include "toolkit/theme/paint_manager.h"
#include "bars_menubar_test_ids.h"

using testsupport::DibCanvas;
using testsupport::PumpPending;
using testsupport::PumpUntil;

namespace {

const char* const kProfile = "MenuBarTestProfile";

class MainLikeDlg : public CExtResizableDialog
{
public:
    MainLikeDlg() : CExtResizableDialog(IDD_MB_MAIN) {}
    CExtMenuControlBar m_wndMenuBar;
    CExtToolControlBar m_wndToolBar;
    CExtStatusControlBar m_wndStatusBar;
    std::vector<UINT> m_commands;
    // The bar's tracked button each time a popup asked its receiver to prepare it;
    // -2 while the bar was not marked as tracking.
    std::vector<int> m_prepared;

    BOOL OnInitDialog() override
    {
        CExtResizableDialog::OnInitDialog();
        g_CommandManager->ProfileSetup(kProfile, m_hWnd);
        if (!m_wndMenuBar.SubclassDlgItem(IDC_MB_MENUBAR, this) ||
            !m_wndToolBar.SubclassDlgItem(IDC_MB_TOOLBAR, this) || !m_wndMenuBar.LoadMenuBar(IDR_MB_MENU))
            return FALSE;
        const UINT ids[] = {ID_MB_FILE_NEW, 0, ID_MB_EDIT_COPY};
        m_wndToolBar.SetButtons(ids, 3);
        if (!m_wndStatusBar.Create(this))
            return FALSE;
        m_wndStatusBar.SendMessage(SB_SETMINHEIGHT, 20);
        m_wndStatusBar.AddPane(1, 0);
        CRect rc;
        GetClientRect(&rc);
        m_wndStatusBar.SetPaneWidth(0, rc.Width() - 22);
        m_wndStatusBar.SetDrawPaneBorders(true);
        RepositionBars(0, 0xFFFF, 0);
        return TRUE;
    }
    LRESULT WindowProc(UINT nMsg, WPARAM wParam, LPARAM lParam) override
    {
        if (nMsg == WM_COMMAND && HIWORD(wParam) == 0)
        {
            m_commands.push_back(LOWORD(wParam));
            return 0;
        }
        if (nMsg == CExtPopupMenuWnd::g_nMsgPrepareMenu)
            m_prepared.push_back(CExtToolControlBar::g_bButtonMenuTracking ? m_wndMenuBar.GetMenuTrackingButton() : -2);
        LRESULT lResult = CExtResizableDialog::WindowProc(nMsg, wParam, lParam);
        if (nMsg == WM_SIZE && wParam != SIZE_MINIMIZED && m_wndStatusBar.GetSafeHwnd() != NULL)
        {
            RepositionBars(0, 0xFFFF, 0);
            if (LOWORD(lParam) > 22)
                m_wndStatusBar.SetPaneWidth(0, LOWORD(lParam) - 22);
        }
        return lResult;
    }
};

std::string R(const RECT& rc)
{
    char s[64];
    wsprintfA(s, "(%ld,%ld,%ld,%ld)", rc.left, rc.top, rc.right, rc.bottom);
    return s;
}

MSG KeyMsg(HWND hWnd, UINT nMsg, UINT nKey, bool bAlt)
{
    MSG msg = {};
    msg.hwnd = hWnd;
    msg.message = nMsg;
    msg.wParam = nKey;
    const bool bUp = nMsg == WM_KEYUP || nMsg == WM_SYSKEYUP;
    msg.lParam = 1 | (LPARAM(::MapVirtualKey(nKey, 0)) << 16) | (bAlt ? (LPARAM(KF_ALTDOWN) << 16) : 0) |
                 (bUp ? (LPARAM(0xC000) << 16) : 0);
    return msg;
}

class MainDialogBarsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        g_CurrentPaintManager.InstallPaintManagerByClass(RUNTIME_CLASS(CExtPaintManagerXP));
        ASSERT_TRUE(m_dlg.Create(IDD_MB_MAIN, NULL));
        m_dlg.SetWindowPos(NULL, 30, 30, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        m_dlg.ShowWindow(SW_SHOW);
        ::SetForegroundWindow(m_dlg.m_hWnd);
        ::SetActiveWindow(m_dlg.m_hWnd);
        m_dlg.SetFocus();
        // Real keys go to the foreground window's thread: the popups' keyboard hook
        // sees them only once the dialog is foreground and has the focus.
        PumpUntil([&] {
            const HWND hWndFocus = ::GetFocus();
            return ::GetForegroundWindow() == m_dlg.m_hWnd && m_dlg.IsWindowVisible() &&
                   (hWndFocus == m_dlg.m_hWnd || ::IsChild(m_dlg.m_hWnd, hWndFocus));
        }, 2000);
    }
    void TearDown() override
    {
        CloseMenus();
        if (m_dlg.GetSafeHwnd() != NULL)
            m_dlg.DestroyWindow();
        g_CommandManager->ProfileDestroy(kProfile, true);
        g_CurrentPaintManager.InstallPaintManagerByClass(RUNTIME_CLASS(CExtPaintManagerXP));
    }
    static void CloseMenus()
    {
        CExtPopupMenuWnd::CancelMenuTracking();
        PumpPending();
        CExtToolControlBar::CancelAllButtonMenuTracking();
        PumpPending();
    }
    // Hands a key message to the dialog's bars as the dialog's message filter does and
    // answers whether they ate it. What they leave is not dispatched: an Alt release that
    // reaches the default window procedure starts the system's own menu loop.
    bool Key(UINT nMsg, UINT nKey, bool bAlt)
    {
        MSG msg = KeyMsg(::GetFocus() != NULL ? ::GetFocus() : m_dlg.m_hWnd, nMsg, nKey, bAlt);
        const bool bEaten = CExtControlBar::ChildBarsPreTranslateMessage(&m_dlg, &msg) != FALSE;
        PumpPending();
        return bEaten;
    }
    // A real key press, for what the open popup's keyboard hook sees.
    static void PressKey(WORD nKey)
    {
        INPUT in[2] = {};
        in[0].type = in[1].type = INPUT_KEYBOARD;
        in[0].ki.wVk = in[1].ki.wVk = nKey;
        in[1].ki.dwFlags = KEYEVENTF_KEYUP;
        ::SendInput(2, in, sizeof(INPUT));
    }
    void AltTap()
    {
        Key(WM_SYSKEYDOWN, VK_MENU, true);
        Key(WM_KEYUP, VK_MENU, false);
    }
    int Tracking() const { return m_dlg.m_wndMenuBar.GetMenuTrackingButton(); }
    bool MenuOpenAt(int nIndex)
    {
        return PumpUntil([&] { return CExtPopupMenuWnd::IsMenuTracking() && Tracking() == nIndex; }, 1000);
    }
    MainLikeDlg m_dlg;
};

TEST_F(MainDialogBarsTest, MenuButtonsComeFromTheMenuResource)
{
    CExtMenuControlBar& bar = m_dlg.m_wndMenuBar;
    ASSERT_EQ(5, bar.GetButtonsCount());
    const char* texts[] = {"&File", "&Edit", "&View && Tools", "&Go", "&Help"};
    UINT popupIds[5] = {};
    for (int i = 0; i < 5; i++)
    {
        SCOPED_TRACE(texts[i]);
        CExtBarButton* pTBB = bar.GetButton(i);
        EXPECT_EQ(std::string(texts[i]), std::string((LPCTSTR)pTBB->GetText()));
        EXPECT_EQ(i != 3, pTBB->HasPopup());
        popupIds[i] = pTBB->GetCmdID(false);
        CExtCmdItem* pCmd = g_CommandManager->CmdGetPtr(kProfile, popupIds[i]);
        ASSERT_TRUE(pCmd != NULL);
        EXPECT_EQ(i != 3, pCmd->GetStateBit6());
    }
    EXPECT_EQ(UINT(ID_MB_PLAIN), popupIds[3]);
    EXPECT_GE(popupIds[0], 0xF000u);

    // A rebuild frees the popup commands it made before, and registers a plain command
    // that nobody registered instead of failing on it.
    g_CommandManager->CmdRemove(kProfile, ID_MB_PLAIN);
    ASSERT_TRUE(bar.UpdateMenuBar(true));
    ASSERT_EQ(5, bar.GetButtonsCount());
    for (int i = 0; i < 5; i++)
        EXPECT_EQ(popupIds[i], bar.GetButton(i)->GetCmdID(false)) << i;
    CExtCmdItem* pPlain = g_CommandManager->CmdGetPtr(kProfile, ID_MB_PLAIN);
    ASSERT_TRUE(pPlain != NULL);
    EXPECT_EQ(std::string("&Go"), std::string((LPCTSTR)pPlain->m_sToolbarText));
}

TEST_F(MainDialogBarsTest, AltAndF10EnterKeyboardSelectionAndArrowsMoveIt)
{
    CExtMenuControlBar& bar = m_dlg.m_wndMenuBar;
    struct Step
    {
        const char* sName;
        UINT nMsg, nKey;
        bool bAlt;
        bool bFlat;
        int nSelected;
    } steps[] = {
        {"Alt down", WM_SYSKEYDOWN, VK_MENU, true, false, -1},
        {"Alt up", WM_SYSKEYUP, VK_MENU, false, true, 0},
        {"Right", WM_KEYDOWN, VK_RIGHT, false, true, 1},
        {"Left", WM_KEYDOWN, VK_LEFT, false, true, 0},
        {"Left wraps", WM_KEYDOWN, VK_LEFT, false, true, 4},
        {"Escape", WM_KEYDOWN, VK_ESCAPE, false, false, -1},
        {"F10 down", WM_SYSKEYDOWN, VK_F10, false, false, -1},
        {"F10 up", WM_SYSKEYUP, VK_F10, false, true, 0},
        {"Right again", WM_KEYDOWN, VK_RIGHT, false, true, 1},
        {"Alt leaves", WM_SYSKEYDOWN, VK_MENU, true, true, 1},
        {"Alt up ends", WM_SYSKEYUP, VK_MENU, false, false, -1},
    };
    for (const Step& s : steps)
    {
        SCOPED_TRACE(s.sName);
        Key(s.nMsg, s.nKey, s.bAlt);
        EXPECT_EQ(s.bFlat, bar.IsFlatTracking());
        EXPECT_EQ(s.nSelected, bar.GetFlatTrackingIndex());
        for (int i = 0; i < bar.GetButtonsCount(); i++)
            EXPECT_EQ(i == s.nSelected, (bar.GetButtonStyle(i) & TBBS_PRESSED) != 0) << "button " << i;
    }
    EXPECT_FALSE(CExtPopupMenuWnd::IsMenuTracking());
}

TEST_F(MainDialogBarsTest, AltReleaseAfterACommandOrAnAltNumpadCodeIsIgnored)
{
    CExtMenuControlBar& bar = m_dlg.m_wndMenuBar;
    Key(WM_SYSKEYDOWN, VK_MENU, true);
    Key(WM_SYSKEYDOWN, VK_NUMPAD1, true);
    Key(WM_SYSKEYUP, VK_NUMPAD1, true);
    EXPECT_FALSE(Key(WM_KEYUP, VK_MENU, false));
    EXPECT_FALSE(bar.IsFlatTracking());
    Key(WM_SYSKEYDOWN, VK_MENU, true);
    m_dlg.SendMessage(WM_ACTIVATE, WA_ACTIVE, 0);
    EXPECT_FALSE(Key(WM_KEYUP, VK_MENU, false));
    EXPECT_FALSE(bar.IsFlatTracking());
    // In a dialog Alt+Space is the dialog's own.
    EXPECT_FALSE(Key(WM_SYSKEYDOWN, VK_SPACE, true));
    EXPECT_FALSE(CExtPopupMenuWnd::IsMenuTracking());
}

TEST_F(MainDialogBarsTest, PopupsOpenByDownKeyMnemonicAndClick)
{
    CExtMenuControlBar& bar = m_dlg.m_wndMenuBar;
    // Down on the highlighted button opens its menu.
    AltTap();
    Key(WM_KEYDOWN, VK_RIGHT, false);
    Key(WM_KEYDOWN, VK_DOWN, false);
    EXPECT_TRUE(MenuOpenAt(1));
    EXPECT_FALSE(bar.IsFlatTracking());
    CloseMenus();

    struct Mnemonic
    {
        UINT nKey;
        bool bEaten;
        int nMenu;  // -1: none opens
        UINT nCommand;
    } cases[] = {
        {'F', true, 0, 0}, {'H', true, 4, 0}, {'V', true, 2, 0}, {'T', false, -1, 0}, {'G', true, -1, ID_MB_PLAIN},
    };
    for (const Mnemonic& c : cases)
    {
        SCOPED_TRACE(std::string(1, char(c.nKey)));
        m_dlg.m_commands.clear();
        EXPECT_EQ(c.bEaten, Key(WM_SYSKEYDOWN, c.nKey, true));
        if (c.nMenu >= 0)
        {
            EXPECT_TRUE(MenuOpenAt(c.nMenu));
        }
        else
        {
            EXPECT_FALSE(CExtPopupMenuWnd::IsMenuTracking());
        }
        EXPECT_EQ(c.nCommand != 0 ? 1u : 0u, m_dlg.m_commands.size());
        if (c.nCommand != 0 && !m_dlg.m_commands.empty())
        {
            EXPECT_EQ(c.nCommand, m_dlg.m_commands[0]);
        }
        CloseMenus();
    }

    // A click on a button opens its menu at once; a click on the open one changes nothing.
    CRect rc;
    bar.GetButtonRect(4, rc);
    bar.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(rc.CenterPoint().x, rc.CenterPoint().y));
    EXPECT_TRUE(MenuOpenAt(4));
    bar.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(rc.CenterPoint().x, rc.CenterPoint().y));
    EXPECT_TRUE(MenuOpenAt(4));
}

TEST_F(MainDialogBarsTest, LeftAndRightInAnOpenPopupCycleThroughTheButtons)
{
    Key(WM_SYSKEYDOWN, 'F', true);
    ASSERT_TRUE(MenuOpenAt(0));
    // Right pressed in the open popup moves to the next menu.
    PressKey(VK_RIGHT);
    EXPECT_TRUE(MenuOpenAt(1));
    PressKey(VK_LEFT);
    EXPECT_TRUE(MenuOpenAt(0));
    struct Move
    {
        UINT nMsg;
        int nExpected;
    } moves[] = {
        {CExtPopupMenuWnd::g_nMsgPopupNext, 1}, {CExtPopupMenuWnd::g_nMsgPopupNext, 2},
        {CExtPopupMenuWnd::g_nMsgPopupPrev, 1}, {CExtPopupMenuWnd::g_nMsgPopupPrev, 0},
        {CExtPopupMenuWnd::g_nMsgPopupPrev, 4}, {CExtPopupMenuWnd::g_nMsgPopupNext, 0},
    };
    for (const Move& m : moves)
    {
        SCOPED_TRACE(m.nExpected);
        // What an open popup posts to its command receiver for Left and Right.
        m_dlg.PostMessage(m.nMsg, 0, 0);
        EXPECT_TRUE(MenuOpenAt(m.nExpected));
    }
    // Esc in the popup closes it and ends the bar's menu tracking.
    PressKey(VK_ESCAPE);
    PumpUntil([] { return !CExtPopupMenuWnd::IsMenuTracking(); }, 1000);
    EXPECT_FALSE(CExtPopupMenuWnd::IsMenuTracking());
    EXPECT_FALSE(CExtToolControlBar::g_bButtonMenuTracking);
}

// The popup listens to the keyboard from the moment it starts to open, and hands Left
// and Right to the bar only while the bar is marked as tracking its menu: the mark must
// stand before the popup opens, or a key typed meanwhile is lost.
TEST_F(MainDialogBarsTest, TheBarIsMarkedAsTrackingBeforeItsPopupOpens)
{
    CExtMenuControlBar& bar = m_dlg.m_wndMenuBar;
    CRect rc;
    bar.GetButtonRect(4, rc);
    struct Case
    {
        const char* sName;
        std::function<void()> open;
        int nIndex;
    } cases[] = {
        {"Alt+E", [&] { Key(WM_SYSKEYDOWN, 'E', true); }, 1},
        {"a click",
         [&] { bar.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(rc.CenterPoint().x, rc.CenterPoint().y)); },
         4},
        {"the next menu", [&] { m_dlg.PostMessage(CExtPopupMenuWnd::g_nMsgPopupNext, 0, 0); }, 0},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.sName);
        m_dlg.m_prepared.clear();
        c.open();
        ASSERT_TRUE(MenuOpenAt(c.nIndex));
        ASSERT_FALSE(m_dlg.m_prepared.empty());
        EXPECT_EQ(c.nIndex, m_dlg.m_prepared.front());
    }
}

TEST_F(MainDialogBarsTest, BarsKeepTheirPlacesWhenTheDialogIsResized)
{
    const SIZE sizes[] = {{500, 300}, {360, 260}, {700, 420}};
    for (const SIZE& size : sizes)
    {
        SCOPED_TRACE(size.cx);
        m_dlg.SetWindowPos(NULL, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER);
        PumpPending();
        CRect rcClient, rcMenu, rcTool, rcStatus;
        m_dlg.GetClientRect(&rcClient);
        m_dlg.m_wndMenuBar.GetWindowRect(&rcMenu);
        m_dlg.ScreenToClient(&rcMenu);
        m_dlg.m_wndToolBar.GetWindowRect(&rcTool);
        m_dlg.ScreenToClient(&rcTool);
        m_dlg.m_wndStatusBar.GetWindowRect(&rcStatus);
        m_dlg.ScreenToClient(&rcStatus);
        const CSize sizeMenu = m_dlg.m_wndMenuBar.CalcFixedLayout(TRUE, TRUE);
        EXPECT_EQ(R(CRect(0, 0, rcClient.right, sizeMenu.cy)), R(rcMenu));
        EXPECT_EQ(rcMenu.bottom, rcTool.top);
        EXPECT_EQ(rcClient.right, rcTool.right);
        EXPECT_EQ(R(CRect(0, rcClient.bottom - 20, rcClient.right, rcClient.bottom)), R(rcStatus));
        UINT nID, nStyle;
        int cx;
        m_dlg.m_wndStatusBar.GetPaneInfo(0, nID, nStyle, cx);
        EXPECT_EQ(1u, nID);
        EXPECT_EQ(rcClient.Width() - 22, cx);
        EXPECT_TRUE(m_dlg.m_wndStatusBar.GetDrawPaneBorders());
    }
}

TEST_F(MainDialogBarsTest, KeyboardSelectedMenuButtonPaintsInTheThemeColours)
{
    struct ThemeCase
    {
        const char* sName;
        CRuntimeClass* pClass;
        int nFace;        // the selected button's face
        int nBackground;  // the bar beyond the buttons, -1: a gradient
    } themes[] = {
        {"XP", RUNTIME_CLASS(CExtPaintManagerXP), 1001, 1000},
        {"Office 2003", RUNTIME_CLASS(CExtPaintManagerOffice2003), 3021, -1},
        {"Studio 2005", RUNTIME_CLASS(CExtPaintManagerStudio2005), 3021, -1},
    };
    CExtMenuControlBar& bar = m_dlg.m_wndMenuBar;
    for (const ThemeCase& t : themes)
    {
        SCOPED_TRACE(t.sName);
        g_CurrentPaintManager.InstallPaintManagerByClass(t.pClass);
        CExtPaintManager* pPM = g_CurrentPaintManager.GetPM();
        AltTap();
        Key(WM_KEYDOWN, VK_RIGHT, false);
        CRect rcBar;
        bar.GetClientRect(&rcBar);
        DibCanvas canvas(rcBar.Width(), rcBar.Height(), RGB(1, 2, 3));
        bar.DoPaint(CDC::FromHandle(canvas.Dc()));
        const CRect rcSel = bar.GetButton(1)->GetRect(), rcOther = bar.GetButton(0)->GetRect();
        const int y = rcSel.CenterPoint().y;
        EXPECT_EQ(pPM->LookupColor(COLOR_HIGHLIGHT), canvas.Pixel(rcSel.left, y)) << "selected frame";
        EXPECT_EQ(pPM->LookupColor(COLOR_HIGHLIGHT), canvas.Pixel(rcSel.CenterPoint().x, rcSel.top)) << "top edge";
        EXPECT_EQ(pPM->LookupColor(t.nFace), canvas.Pixel(rcSel.left + 2, y)) << "selected face";
        EXPECT_NE(pPM->LookupColor(COLOR_HIGHLIGHT), canvas.Pixel(rcOther.left, y)) << "other button unframed";
        EXPECT_NE(pPM->LookupColor(t.nFace), canvas.Pixel(rcOther.left + 2, y)) << "other button's face";
        if (t.nBackground >= 0)
        {
            EXPECT_EQ(pPM->LookupColor(t.nBackground), canvas.Pixel(rcBar.right - 5, y)) << "bar background";
        }
        Key(WM_KEYDOWN, VK_ESCAPE, false);
        EXPECT_FALSE(bar.IsFlatTracking());
    }
}

// ---- the three bars in a frame ------------------------------------------------------------

class BarsFrame : public CFrameWnd
{
public:
    CExtMenuControlBar m_wndMenuBar;
    CExtToolControlBar m_wndToolBar;
    CExtStatusControlBar m_wndStatusBar;
};

TEST(MenuBarInFrame, TakesTheFrameMenuAndShowsTheIdleMessage)
{
    BarsFrame* pFrame = new BarsFrame;
    ASSERT_TRUE(pFrame->Create(NULL, "Frame", WS_OVERLAPPEDWINDOW, CRect(40, 40, 540, 340), NULL,
                               MAKEINTRESOURCE(IDR_MB_MENU)));
    g_CommandManager->ProfileSetup(kProfile, pFrame->m_hWnd);
    g_CommandManager->UpdateFromMenuResource(kProfile, IDR_MB_MENU);
    ASSERT_TRUE(pFrame->m_wndMenuBar.Create("Menu", pFrame, 0xE900, WS_CHILD | WS_VISIBLE | CBRS_TOP));
    EXPECT_TRUE(::GetMenu(pFrame->m_hWnd) == NULL);
    EXPECT_EQ(5, pFrame->m_wndMenuBar.GetButtonsCount());
    const UINT ids[] = {ID_MB_FILE_NEW, ID_MB_EDIT_COPY};
    ASSERT_TRUE(pFrame->m_wndToolBar.Create("Tools", pFrame, AFX_IDW_TOOLBAR, WS_CHILD | WS_VISIBLE | CBRS_TOP));
    pFrame->m_wndToolBar.SetButtons(ids, 2);
    ASSERT_TRUE(pFrame->m_wndStatusBar.Create(pFrame));
    const UINT indicators[] = {ID_SEPARATOR, IDS_MB_IND_CAPS};
    ASSERT_TRUE(pFrame->m_wndStatusBar.SetIndicators(indicators, 2));
    pFrame->ShowWindow(SW_SHOW);
    pFrame->RecalcLayout();
    PumpPending();

    pFrame->SendMessage(WM_SETMESSAGESTRING, AFX_IDS_IDLEMESSAGE);
    EXPECT_EQ(std::string("Ready"), std::string((LPCTSTR)pFrame->m_wndStatusBar.GetPaneText(0)));
    EXPECT_EQ(std::string("CAPS"), std::string((LPCTSTR)pFrame->m_wndStatusBar.GetPaneText(1)));

    // The two top bars stack from the top edge across the width; the status bar ends at
    // the bottom.
    CRect rcClient, rcMenu, rcTool, rcStatus;
    pFrame->GetClientRect(&rcClient);
    pFrame->m_wndMenuBar.GetWindowRect(&rcMenu);
    pFrame->ScreenToClient(&rcMenu);
    pFrame->m_wndToolBar.GetWindowRect(&rcTool);
    pFrame->ScreenToClient(&rcTool);
    pFrame->m_wndStatusBar.GetWindowRect(&rcStatus);
    pFrame->ScreenToClient(&rcStatus);
    const CRect& rcUpper = rcMenu.top < rcTool.top ? rcMenu : rcTool;
    const CRect& rcLower = rcMenu.top < rcTool.top ? rcTool : rcMenu;
    EXPECT_EQ(0, rcUpper.top);
    EXPECT_EQ(rcUpper.bottom, rcLower.top);
    EXPECT_EQ(rcClient.right, rcMenu.right);
    EXPECT_EQ(rcClient.bottom, rcStatus.bottom);
    EXPECT_EQ(rcClient.right, rcStatus.right);

    // A menu that other code puts on the frame again is taken off and shown by the bar.
    HMENU hNew = ::CreateMenu();
    ::AppendMenuA(hNew, MF_STRING, ID_MB_UNREGISTERED, "&Only");
    ::SetMenu(pFrame->m_hWnd, hNew);
    pFrame->SendMessage(WM_NULL);
    PumpPending();
    EXPECT_TRUE(::GetMenu(pFrame->m_hWnd) == NULL);
    ASSERT_EQ(1, pFrame->m_wndMenuBar.GetButtonsCount());
    EXPECT_EQ(std::string("&Only"), std::string((LPCTSTR)pFrame->m_wndMenuBar.GetButton(0)->GetText()));

    pFrame->DestroyWindow();
    g_CommandManager->ProfileDestroy(kProfile, true);
}

TEST(MenuBarInFrame, TheMdiMenuIsBorrowedNeverDestroyed)
{
    BarsFrame* pFrame = new BarsFrame;
    ASSERT_TRUE(pFrame->Create(NULL, "Frame", WS_OVERLAPPEDWINDOW, CRect(40, 40, 540, 340)));
    g_CommandManager->ProfileSetup(kProfile, pFrame->m_hWnd);
    CLIENTCREATESTRUCT ccs = {NULL, 0xFF00};
    HWND hWndClient = ::CreateWindowA("MDICLIENT", NULL, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 100, 100,
                                      pFrame->m_hWnd, (HMENU)0xE900, NULL, &ccs);
    ASSERT_TRUE(hWndClient != NULL);
    CExtMenuControlBar* pBar = new CExtMenuControlBar;
    pBar->m_nMenuBarOptions |= CExtMenuControlBar::__EMBO_MDI_MODE;
    ASSERT_TRUE(pBar->Create("Menu", pFrame, 0xE901, WS_CHILD | WS_VISIBLE | CBRS_TOP));
    EXPECT_TRUE(pBar->IsMdiMode());

    HMENU hMdiMenu = ::CreateMenu();
    HMENU hSub = ::CreatePopupMenu();
    ::AppendMenuA(hSub, MF_STRING, ID_MB_FILE_NEW, "&New");
    ::AppendMenuA(hMdiMenu, MF_POPUP, (UINT_PTR)hSub, "&Document");
    ::AppendMenuA(hMdiMenu, MF_STRING, ID_MB_PLAIN, "&Go");
    ::SendMessage(hWndClient, WM_MDISETMENU, (WPARAM)hMdiMenu, 0);
    PumpPending();
    EXPECT_EQ(hMdiMenu, pBar->GetActiveMenu()->GetSafeHmenu());
    EXPECT_EQ(2, pBar->GetButtonsCount());

    // Loading another menu lets the MDI menu go without destroying it; so does the end.
    ASSERT_TRUE(pBar->LoadMenuBar(IDR_MB_MENU));
    EXPECT_EQ(5, pBar->GetButtonsCount());
    EXPECT_TRUE(::IsMenu(hMdiMenu));
    ::SendMessage(hWndClient, WM_MDISETMENU, (WPARAM)hMdiMenu, 0);
    PumpPending();
    EXPECT_EQ(2, pBar->GetButtonsCount());
    pBar->DestroyWindow();
    delete pBar;
    EXPECT_TRUE(::IsMenu(hMdiMenu));
    ::DestroyMenu(hMdiMenu);
    pFrame->DestroyWindow();
    g_CommandManager->ProfileDestroy(kProfile, true);
}


TEST(MenuBarInFrame, MaximizedMdiChildBringsTheDocumentAndCaptionButtons)
{
    CMDIFrameWnd* pFrame = new CMDIFrameWnd;
    ASSERT_TRUE(pFrame->Create(NULL, "Mdi", WS_OVERLAPPEDWINDOW, CRect(40, 40, 540, 340), NULL,
                               MAKEINTRESOURCE(IDR_MB_MENU)));
    g_CommandManager->ProfileSetup(kProfile, pFrame->m_hWnd);
    g_CommandManager->UpdateFromMenuResource(kProfile, IDR_MB_MENU);
    CExtMenuControlBar* pBar = new CExtMenuControlBar;
    ASSERT_TRUE(pBar->Create("Menu", pFrame, 0xE901, WS_CHILD | WS_VISIBLE | CBRS_TOP));
    EXPECT_TRUE(pBar->IsMdiMode());
    pFrame->ShowWindow(SW_SHOW);
    CMDIChildWnd* pChild = new CMDIChildWnd;
    ASSERT_TRUE(pChild->Create(NULL, "Doc", WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW, CRect(0, 0, 200, 100),
                               pFrame));
    PumpPending();
    auto mdiButtons = [pBar]() {
        const int n = pBar->GetButtonsCount();
        std::string s;
        s += (n > 0 && pBar->GetButton(0)->IsKindOf(RUNTIME_CLASS(CExtBarMdiDocButton))) ? "doc" : "-";
        bool bRight = false;
        for (int i = n - 2; i < n; i++)
            bRight = bRight || (i >= 0 && pBar->GetButton(i)->IsKindOf(RUNTIME_CLASS(CExtBarMdiRightButton)));
        s += bRight ? " right" : " -";
        return s;
    };
    EXPECT_EQ("- -", mdiButtons());
    pChild->MDIMaximize();
    PumpUntil([&] { return mdiButtons() == "doc right"; }, 1000);
    EXPECT_EQ("doc right", mdiButtons());
    EXPECT_EQ(pChild->m_hWnd, pBar->GetHookedWnd());
    pChild->MDIRestore();
    PumpUntil([&] { return mdiButtons() == "- -"; }, 1000);
    EXPECT_EQ("- -", mdiButtons());
    pBar->DestroyWindow();
    delete pBar;
    pFrame->DestroyWindow();
    g_CommandManager->ProfileDestroy(kProfile, true);
}


TEST(MenuBarInFrame, SystemMenusJoinTheRoundOfMenus)
{
    CMDIFrameWnd* pFrame = new CMDIFrameWnd;
    ASSERT_TRUE(pFrame->Create(NULL, "Mdi", WS_OVERLAPPEDWINDOW, CRect(40, 40, 540, 340), NULL,
                               MAKEINTRESOURCE(IDR_MB_MENU)));
    g_CommandManager->ProfileSetup(kProfile, pFrame->m_hWnd);
    g_CommandManager->UpdateFromMenuResource(kProfile, IDR_MB_MENU);
    CExtMenuControlBar* pBar = new CExtMenuControlBar;
    ASSERT_TRUE(pBar->Create("Menu", pFrame, 0xE901, WS_CHILD | WS_VISIBLE | CBRS_TOP));
    EXPECT_FALSE(pBar->LoadMenuBar(63999)) << "a missing menu resource";
    ASSERT_TRUE(pBar->LoadMenuBar(IDR_MB_MENU));
    pFrame->ShowWindow(SW_SHOW);
    CMDIChildWnd* pChild = new CMDIChildWnd;
    ASSERT_TRUE(pChild->Create(NULL, "Doc", WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW, CRect(0, 0, 200, 100),
                               pFrame));
    ::SetForegroundWindow(pFrame->m_hWnd);
    ::SetActiveWindow(pFrame->m_hWnd);
    PumpPending();
    ASSERT_EQ(pChild->m_hWnd, pBar->GetHookedWnd());

    // Alt+Space opens the frame's system menu; Right goes on to the child's, then to the
    // first menu; Left from the first menu comes back to the child's system menu.
    const LPARAM lAlt = LPARAM(KF_ALTDOWN) << 16;
    pFrame->SendMessage(WM_SYSKEYDOWN, VK_SPACE, lAlt | 1);
    struct Step
    {
        const char* sName;
        HWND hWndTo;  // NULL: this step only checks
        UINT nMsg;
        bool bSysMenu;
        int nTracked;
    } steps[] = {
        {"Alt+Space", NULL, 0, true, -1},
        {"Right to the child's", pFrame->m_hWnd, CExtPopupMenuWnd::g_nMsgPopupNext, true, -1},
        {"Right to the first menu", pChild->m_hWnd, CExtPopupMenuWnd::g_nMsgPopupNext, false, 0},
        {"Right to the next", pFrame->m_hWnd, CExtPopupMenuWnd::g_nMsgPopupNext, false, 1},
        {"Left back", pFrame->m_hWnd, CExtPopupMenuWnd::g_nMsgPopupPrev, false, 0},
        {"Left to the child's", pFrame->m_hWnd, CExtPopupMenuWnd::g_nMsgPopupPrev, true, -1},
    };
    for (const Step& st : steps)
    {
        SCOPED_TRACE(st.sName);
        if (st.hWndTo != NULL)
            ::PostMessage(st.hWndTo, st.nMsg, 0, 0);
        PumpUntil([&] {
            return CExtPopupMenuWnd::IsMenuTracking() && pBar->GetMenuTrackingButton() == st.nTracked &&
                   ((pBar->m_nMenuBarState & CExtMenuControlBar::__EMBS_SYSMENU_TRACKING) != 0) == st.bSysMenu;
        }, 1000);
        EXPECT_TRUE(CExtPopupMenuWnd::IsMenuTracking());
        EXPECT_EQ(st.nTracked, pBar->GetMenuTrackingButton());
        EXPECT_EQ(st.bSysMenu, (pBar->m_nMenuBarState & CExtMenuControlBar::__EMBS_SYSMENU_TRACKING) != 0);
    }
    CExtPopupMenuWnd::CancelMenuTracking();
    PumpPending();
    CExtToolControlBar::CancelAllButtonMenuTracking();
    PumpPending();
    pBar->DestroyWindow();
    delete pBar;
    pFrame->DestroyWindow();
    g_CommandManager->ProfileDestroy(kProfile, true);
}

}  // namespace
