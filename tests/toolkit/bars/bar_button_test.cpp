// Toolbar buttons: command ids and styles, measuring, painting through the theme, command
// state, clicks and the button as a popup-menu item.
#include <gtest/gtest.h>

#include "framework/framework.h"
#include "support/dib_canvas.h"
#include "support/message_pump.h"
#include "toolkit/bars/bar_button.h"
#include "toolkit/core/cmd_icon.h"
#include "toolkit/core/cmd_item.h"
#include "toolkit/core/cmd_manager.h"
#include "toolkit/core/cmd_tree.h"
#include "toolkit/menus/popup_menu_wnd.h"
#include "toolkit/theme/paint_manager.h"

using testsupport::DibCanvas;
using testsupport::PumpPending;

namespace {

const char* const PROFILE = "bar-button-test-profile";
const UINT ID_OPEN = 40001;
const UINT ID_PLAIN = 40002;
const UINT ID_AMP = 40003;

// The command receiver: a dialog-like popup that records the commands it gets.
struct Host : CWnd
{
    std::vector<std::pair<UINT, WPARAM>> m_commands;
    Host() { CreateEx(0, NULL, "Host", WS_POPUP | WS_CLIPCHILDREN, 0, 0, 300, 200, NULL, NULL); }
    ~Host()
    {
        if (m_hWnd != NULL)
            DestroyWindow();
    }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_COMMAND || message == WM_SYSCOMMAND)
            m_commands.push_back(std::make_pair(message, wParam));
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

class BarButtonTest : public ::testing::Test
{
protected:
    Host m_host;
    CExtToolControlBar m_bar;

    void SetUp() override
    {
        ASSERT_TRUE(g_CurrentPaintManager.InstallPaintManager(new CExtPaintManagerXP));
        ASSERT_TRUE(m_host.GetSafeHwnd() != NULL);
        ASSERT_TRUE(g_CommandManager->ProfileSetup(PROFILE, m_host.GetSafeHwnd()));
        ASSERT_TRUE(m_bar.Create("Bar", &m_host, 0xE903, WS_CHILD | WS_VISIBLE | CBRS_TOP));
        AddCmd(ID_OPEN, "&Open", "Open a file");
        AddCmd(ID_PLAIN, "", "");
        AddCmd(ID_AMP, "A&&B", "");
    }
    void TearDown() override
    {
        if (m_bar.GetSafeHwnd() != NULL)
            m_bar.DestroyWindow();
        g_CommandManager->ProfileDestroy(PROFILE, true);
    }
    void AddCmd(UINT nID, LPCTSTR sToolbarText, LPCTSTR sTip)
    {
        CExtCmdItem cmd(nID);
        cmd.m_sToolbarText = sToolbarText;
        cmd.m_sMenuText = sToolbarText;
        cmd.m_sTipTool = sTip;
        ASSERT_TRUE(g_CommandManager->CmdSetup(PROFILE, cmd, true));
    }
};

// A memory DC with the GUI font, as the toolbar's measuring uses.
struct MeasureDC
{
    CDC m_dc;
    HGDIOBJ m_hOld;
    MeasureDC()
    {
        m_dc.CreateCompatibleDC(NULL);
        m_hOld = ::SelectObject(m_dc.GetSafeHdc(), ::GetStockObject(DEFAULT_GUI_FONT));
    }
    ~MeasureDC() { ::SelectObject(m_dc.GetSafeHdc(), m_hOld); }
    CSize Text(LPCTSTR s)
    {
        CRect rc(0, 0, 0, 0);
        m_dc.DrawText(s, -1, &rc, DT_CALCRECT | DT_SINGLELINE);
        return rc.Size();
    }
};

}  // namespace

TEST(BarButton, IdZeroIsASeparatorAndTheEffectiveIdChangesAlone)
{
    CExtBarButton sep(NULL, 0, 0);
    EXPECT_TRUE(sep.IsSeparator());
    EXPECT_EQ(0x1u, sep.GetStyle() & 0x1);
    EXPECT_TRUE(sep.IsVisible());
    sep.SetCmdID(5, false, false);
    EXPECT_FALSE(sep.IsSeparator());
    EXPECT_EQ(5u, sep.GetCmdID(false));
    sep.SetCmdID(9, true, false);
    EXPECT_EQ(5u, sep.GetCmdID(false));
    EXPECT_EQ(9u, sep.GetCmdID(true));
    EXPECT_FALSE(sep.IsSeparator());

    // A separator style drops both ids; losing TBBS_PRESSED drops the arrow-pressed part.
    sep.ModifyStyle(0x1, 0);
    EXPECT_EQ(0u, sep.GetCmdID(false));
    EXPECT_EQ(0u, sep.GetCmdID(true));

    CExtBarButton wraps(NULL, 7, 0);
    wraps.SetWrap(0, true);
    wraps.SetWrap(2, true);
    EXPECT_TRUE(wraps.IsWrap(0));
    EXPECT_FALSE(wraps.IsWrap(1));
    EXPECT_TRUE(wraps.IsWrap(2));
    EXPECT_TRUE(wraps.IsWrap(5)) << "any other layout is the floating one";

    CObject* pMade = RUNTIME_CLASS(CExtBarButton)->CreateObject();
    ASSERT_TRUE(pMade != NULL);
    EXPECT_EQ(0u, static_cast<CExtBarButton*>(pMade)->GetCmdID(false));
    delete pMade;
}

TEST_F(BarButtonTest, MeasuresTextIconSeparatorAndDropDownExactly)
{
    MeasureDC dc;
    const CSize sizeDefault(23, 22);
    CSize sizeOpen = dc.Text("Open");
    CSize sizeAmp = dc.Text("A&B");
    ASSERT_GT(sizeOpen.cx, 20);

    CExtBarButton unknown(&m_bar, 49999, 0);
    EXPECT_EQ(sizeDefault, unknown.MeasureButton(dc.m_dc, sizeDefault, true)) << "no command item";
    CExtBarButton plain(&m_bar, ID_PLAIN, 0);
    EXPECT_EQ(sizeDefault, plain.MeasureButton(dc.m_dc, sizeDefault, true));
    EXPECT_EQ(sizeDefault, plain.GetSize());

    CExtBarButton sep(&m_bar, 0, 0);
    EXPECT_EQ(CSize(6, 22), sep.MeasureButton(dc.m_dc, sizeDefault, true));
    EXPECT_EQ(CSize(23, 6), sep.MeasureButton(dc.m_dc, sizeDefault, false));

    CExtBarButton open(&m_bar, ID_OPEN, 0);
    EXPECT_EQ("&Open", open.GetText());
    EXPECT_EQ(CSize(std::max(sizeOpen.cx + 12, 23L), std::max(sizeOpen.cy + 6, 22L)),
              open.MeasureButton(dc.m_dc, sizeDefault, true));
    EXPECT_EQ(CSize(std::max(sizeOpen.cy + 6, 23L), sizeOpen.cx + 9), open.MeasureButton(dc.m_dc, sizeDefault, false))
        << "a vertical bar turns the text";
    CExtBarButton amp(&m_bar, ID_AMP, 0);
    EXPECT_EQ(std::max(sizeAmp.cx + 12, 23L), amp.MeasureButton(dc.m_dc, sizeDefault, true).cx)
        << "a doubled ampersand is one";

    // A 16 x 16 icon beside the text.
    HICON hIcon = ::LoadIcon(NULL, IDI_APPLICATION);
    ASSERT_TRUE(hIcon != NULL);
    CExtCmdIcon icon;
    ASSERT_TRUE(g_CommandManager->CmdSetIconFromHICON(PROFILE, ID_OPEN, hIcon, true));
    CExtCmdIcon* pIcon = open.GetIconPtr();
    ASSERT_TRUE(pIcon != NULL);
    CSize sizeIcon = pIcon->GetSize();
    ASSERT_GT(sizeIcon.cx, 0);
    EXPECT_EQ(sizeIcon.cx + sizeOpen.cx + 12, open.MeasureButton(dc.m_dc, sizeDefault, true).cx);
    EXPECT_EQ(sizeIcon.cy + sizeOpen.cx + 9, open.MeasureButton(dc.m_dc, sizeDefault, false).cy);

    // A drop-down adds the arrow: 11 along the flow, horizontal or vertical.
    CSize sizeH = plain.MeasureButton(dc.m_dc, sizeDefault, true);
    CSize sizeV = plain.MeasureButton(dc.m_dc, sizeDefault, false);
    plain.SetMenu(::CreatePopupMenu(), false, true);
    EXPECT_EQ(CSize(sizeH.cx + 11, sizeH.cy), plain.MeasureButton(dc.m_dc, sizeDefault, true));
    EXPECT_EQ(CSize(sizeV.cx, sizeV.cy + 11), plain.MeasureButton(dc.m_dc, sizeDefault, false));
    plain.SetHorizontalOnly(true);
    EXPECT_EQ(CSize(sizeH.cx + 11, sizeH.cy), plain.MeasureButton(dc.m_dc, sizeDefault, false))
        << "horizontal only ignores the bar's orientation";
}

TEST_F(BarButtonTest, AttachedControlMeasuresAsItsWindowAndPaintsNothing)
{
    CWnd* pCombo = new CWnd;
    ASSERT_TRUE(pCombo->CreateEx(0, "COMBOBOX", "", WS_CHILD | CBS_DROPDOWNLIST, CRect(0, 0, 80, 16), &m_bar, 300));
    CRect rcCombo;
    pCombo->GetWindowRect(&rcCombo);
    CExtBarButton button(&m_bar, ID_OPEN, 0);
    button.SetCtrl(pCombo, false);
    MeasureDC dc;
    EXPECT_EQ(CSize(80, std::max(rcCombo.Height(), 22)), button.MeasureButton(dc.m_dc, CSize(23, 22), true));

    button.SetRect(CRect(10, 2, 90, 2 + 40));
    CRect rcNow;
    pCombo->GetWindowRect(&rcNow);
    m_bar.ScreenToClient(&rcNow);
    EXPECT_EQ(10, rcNow.left);
    EXPECT_EQ(2 + (40 - rcCombo.Height()) / 2, rcNow.top) << "centred in the button's height";
    EXPECT_TRUE(pCombo->IsWindowVisible() || !m_bar.IsWindowVisible());
    button.ModifyStyle(0x40000 | 0x80000, 0);
    EXPECT_FALSE(pCombo->IsWindowEnabled());
    EXPECT_FALSE((pCombo->GetStyle() & WS_VISIBLE) != 0) << "a hidden button hides its control";

    DibCanvas canvas(100, 50, RGB(1, 2, 3));
    CDC* pDC = CDC::FromHandle(canvas.Dc());
    button.ModifyStyle(0, 0x80000);
    button.Paint(*pDC, true);
    EXPECT_EQ(100 * 50, canvas.Count(RGB(1, 2, 3), RECT{0, 0, 100, 50}));
    button.SetCtrl(NULL, false);  // destroys and deletes the combo box
}

TEST_F(BarButtonTest, PaintsThroughThePaintManagerByState)
{
    const COLORREF MARK = RGB(1, 2, 3);
    CExtBarButton button(&m_bar, ID_OPEN, 0);
    button.SetRect(CRect(0, 0, 40, 24));
    DibCanvas canvas(40, 24, MARK);
    CDC* pDC = CDC::FromHandle(canvas.Dc());

    // A flat, idle toolbar button shows no face of its own at its rim.
    button.Paint(*pDC, true);
    COLORREF clrIdleRim = canvas.Pixel(0, 12);

    canvas.Fill(MARK);
    button.SetHot(true);
    button.Paint(*pDC, true);
    COLORREF clrHotRim = canvas.Pixel(0, 12);
    COLORREF clrHotFace = canvas.Pixel(3, 3);
    EXPECT_NE(clrIdleRim, clrHotRim) << "hover draws the button's frame";
    EXPECT_NE(MARK, clrHotFace);

    canvas.Fill(MARK);
    button.ModifyStyle(0x20000, 0);
    button.Paint(*pDC, true);
    EXPECT_NE(clrHotFace, canvas.Pixel(3, 3)) << "pressed is painted apart from hover";

    // Hidden, invisible and empty buttons paint nothing.
    canvas.Fill(MARK);
    button.ModifyStyle(0x80000, 0);
    button.Paint(*pDC, true);
    button.ModifyStyle(0, 0x80000);
    button.SetVisible(false);
    button.Paint(*pDC, true);
    button.SetVisible(true);
    button.SetRect(CRect(5, 5, 5, 5));
    button.Paint(*pDC, true);
    EXPECT_EQ(40 * 24, canvas.Count(MARK, RECT{0, 0, 40, 24}));
}

namespace {

class UpdateTarget : public CFrameWnd
{
public:
    bool m_bEnable = true;
    int m_nCheck = 0;
    int m_nAsked = 0;
    afx_msg void OnUpdateOpen(CCmdUI* pCmdUI)
    {
        m_nAsked++;
        pCmdUI->Enable(m_bEnable);
        pCmdUI->SetCheck(m_nCheck);
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(UpdateTarget, CFrameWnd)
    ON_UPDATE_COMMAND_UI(ID_OPEN, &UpdateTarget::OnUpdateOpen)
END_MESSAGE_MAP()

}  // namespace

TEST_F(BarButtonTest, CommandStateComesFromTheUpdateHandler)
{
    UpdateTarget target;
    CExtBarButton open(&m_bar, ID_OPEN, 0);
    target.m_bEnable = false;
    target.m_nCheck = 1;
    open.OnUpdateCmdUI(&target, TRUE, 0);
    EXPECT_EQ(1, target.m_nAsked);
    EXPECT_TRUE(open.IsDisabled());
    EXPECT_EQ(0x10000u, open.GetStyle() & 0x10000);
    EXPECT_TRUE(open.IsPressedOrChecked());

    target.m_bEnable = true;
    target.m_nCheck = 2;
    open.OnUpdateCmdUI(&target, TRUE, 0);
    EXPECT_FALSE(open.IsDisabled());
    EXPECT_TRUE(open.IsIndeterminate());
    EXPECT_FALSE(open.IsPressedOrChecked());

    // No handler: disabled when asked to be.
    CExtBarButton plain(&m_bar, ID_PLAIN, 0);
    plain.OnUpdateCmdUI(&target, TRUE, 1);
    EXPECT_TRUE(plain.IsDisabled());
    CExtBarButton kept(&m_bar, ID_PLAIN, 0);
    kept.OnUpdateCmdUI(&target, FALSE, 1);
    EXPECT_FALSE(kept.IsDisabled());

    // Separators are never updated.
    CExtBarButton sep(&m_bar, 0, 0);
    sep.OnUpdateCmdUI(&target, TRUE, 2);
    EXPECT_FALSE(sep.IsDisabled());
}

TEST_F(BarButtonTest, ClickUpDeliversTheCommandToTheOwnerBySending)
{
    CExtBarButton open(&m_bar, ID_OPEN, 0);
    open.SetRect(CRect(0, 0, 40, 22));
    open.OnClick(CPoint(5, 5), true);
    EXPECT_TRUE(m_host.m_commands.empty()) << "nothing goes out on button down";
    open.OnClick(CPoint(5, 5), false);
    ASSERT_EQ(1u, m_host.m_commands.size()) << "sent, not posted: no pumping needed";
    EXPECT_EQ((UINT)WM_COMMAND, m_host.m_commands[0].first);
    EXPECT_EQ(ID_OPEN, LOWORD(m_host.m_commands[0].second));

    // A disabled button does nothing.
    m_host.m_commands.clear();
    open.ModifyStyle(0x40000, 0);
    open.OnClick(CPoint(5, 5), true);
    open.OnClick(CPoint(5, 5), false);
    EXPECT_TRUE(m_host.m_commands.empty());
    open.ModifyStyle(0, 0x40000);

    // A split button's arrow part pressed and released sends no command; its main part does.
    open.SetSeparatedDropDown(true);
    HMENU hMenu = ::CreatePopupMenu();
    ::AppendMenu(hMenu, MF_STRING, ID_PLAIN, "Plain");
    open.SetMenu(hMenu, false, true);
    CRect rcArrow = open.GetRectDropDown();
    EXPECT_EQ(CRect(40 - 11, 0, 40, 22), rcArrow);
    // Down in the arrow opens the menu; up there after it sends nothing.
    m_host.SetActiveWindow();
    open.OnClick(CPoint(35, 5), true);
    PumpPending();
    EXPECT_TRUE(CExtPopupMenuWnd::IsMenuTracking()) << "the arrow part opens the menu on button down";
    EXPECT_TRUE(CExtToolControlBar::g_bButtonMenuTracking);
    EXPECT_TRUE(open.IsTracked());
    open.OnClick(CPoint(35, 5), false);
    EXPECT_TRUE(m_host.m_commands.empty()) << "up in the arrow after a press there";
    CExtPopupMenuWnd::CancelMenuTracking();
    PumpPending();
    CExtToolControlBar::CancelAllButtonMenuTracking();
    open.ClearTracked();
    EXPECT_FALSE(CExtPopupMenuWnd::IsMenuTracking());

    // Up in the arrow after a press on the main part is a click of the main part.
    open.OnClick(CPoint(5, 5), true);
    open.OnClick(CPoint(35, 5), false);
    ASSERT_EQ(1u, m_host.m_commands.size());
    m_host.m_commands.clear();

    open.OnClick(CPoint(5, 5), true);
    open.OnClick(CPoint(5, 5), false);
    ASSERT_EQ(1u, m_host.m_commands.size());
    EXPECT_EQ(ID_OPEN, LOWORD(m_host.m_commands[0].second));
}

TEST_F(BarButtonTest, ToolTipIsTheCommandTip)
{
    CExtBarButton open(&m_bar, ID_OPEN, 0);
    open.SetRect(CRect(2, 3, 30, 25));
    TOOLINFO ti;
    ::ZeroMemory(&ti, sizeof(ti));
    EXPECT_EQ((int)ID_OPEN, open.OnToolHitTest(CPoint(5, 5), &ti));
    EXPECT_EQ(CRect(2, 3, 30, 25), CRect(ti.rect));
    EXPECT_EQ(m_bar.GetSafeHwnd(), ti.hwnd);
    ASSERT_TRUE(ti.lpszText != NULL && ti.lpszText != LPSTR_TEXTCALLBACK);
    EXPECT_STREQ("Open a file", ti.lpszText);
    ::free(ti.lpszText);

    CExtBarButton plain(&m_bar, ID_PLAIN, 0);
    ::ZeroMemory(&ti, sizeof(ti));
    EXPECT_EQ(-1, plain.OnToolHitTest(CPoint(5, 5), &ti));
    EXPECT_TRUE(ti.lpszText == NULL) << "an empty tip fills nothing";
}

TEST_F(BarButtonTest, PutsItselfIntoAPopupMenu)
{
    CExtPopupMenuWnd* pPopup = new CExtPopupMenuWnd;
    ASSERT_TRUE(pPopup->CreatePopupMenu(m_host.GetSafeHwnd()));

    // Without the bar-items flag the id alone goes in; the menu asks the command manager.
    CExtBarButton open(&m_bar, ID_OPEN, 0);
    EXPECT_TRUE(open.PutToPopupMenu(pPopup));
    CExtBarButton sep(&m_bar, 0, 0);
    EXPECT_TRUE(sep.PutToPopupMenu(pPopup));
    ASSERT_EQ(2, pPopup->ItemGetCount());
    EXPECT_EQ(ID_OPEN, pPopup->ItemGetCmdID(0));
    EXPECT_EQ("&Open", pPopup->ItemGetText(0));
    EXPECT_TRUE(pPopup->ItemGetInfo(1).IsSeparator());

    // With it, the button's own text, icon and enabled state.
    pPopup->m_dwTrackFlags |= 0x10000;
    CExtBarButton amp(&m_bar, ID_AMP, 0x40000);
    EXPECT_TRUE(amp.PutToPopupMenu(pPopup));
    ASSERT_EQ(3, pPopup->ItemGetCount());
    EXPECT_EQ(ID_AMP, pPopup->ItemGetCmdID(2));
    EXPECT_EQ("A&&B", pPopup->ItemGetText(2));
    EXPECT_FALSE(pPopup->ItemGetInfo(2).IsEnabled());

    // A drop-down becomes a sub-menu built from its menu.
    CExtBarButton drop(&m_bar, ID_PLAIN, 0);
    HMENU hMenu = ::CreatePopupMenu();
    ::AppendMenu(hMenu, MF_STRING, ID_OPEN, "&Open");
    ::AppendMenu(hMenu, MF_STRING, ID_AMP, "A&&B");
    drop.SetMenu(hMenu, false, true);
    EXPECT_TRUE(drop.PutToPopupMenu(pPopup));
    ASSERT_EQ(4, pPopup->ItemGetCount());
    EXPECT_TRUE(pPopup->ItemGetInfo(3).IsPopup());
    CExtPopupMenuWnd* pSub = pPopup->ItemGetInfo(3).GetPopup();
    ASSERT_TRUE(pSub != NULL);
    ASSERT_EQ(2, pSub->ItemGetCount());
    EXPECT_EQ(ID_OPEN, pSub->ItemGetCmdID(0));
    EXPECT_EQ(ID_AMP, pSub->ItemGetCmdID(1));
    EXPECT_TRUE(pPopup->ItemFlagGet(3));
    delete pPopup;
}

TEST_F(BarButtonTest, HoverShowsTheCommandInTheStatusAreaAndCapturesTheMouse)
{
    struct StatusHost : Host
    {
        std::vector<WPARAM> m_status;
        LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
        {
            if (message == 0x362)  // WM_SETMESSAGESTRING
                m_status.push_back(wParam);
            return Host::WindowProc(message, wParam, lParam);
        }
    };
    StatusHost host;
    ASSERT_TRUE(g_CommandManager->ProfileWndAdd(PROFILE, host.GetSafeHwnd()));
    CExtToolControlBar bar;
    ASSERT_TRUE(bar.Create("Bar", &host, 0xE904, WS_CHILD | WS_VISIBLE | CBRS_TOP));
    CExtBarButton open(&bar, ID_OPEN, 0);
    open.SetRect(CRect(0, 0, 40, 22));
    bool bSuspend = true;
    open.OnHover(CPoint(5, 5), true, bSuspend);
    EXPECT_FALSE(bSuspend);
    ASSERT_EQ(1u, host.m_status.size());
    EXPECT_EQ(ID_OPEN, (UINT)host.m_status[0]);
    EXPECT_EQ(bar.GetSafeHwnd(), ::GetCapture());
    open.OnHover(CPoint(5, 5), false, bSuspend);
    ASSERT_EQ(2u, host.m_status.size());
    EXPECT_EQ(0xE001u, (UINT)host.m_status[1]) << "the idle message";
    EXPECT_NE(bar.GetSafeHwnd(), ::GetCapture());
    bar.DestroyWindow();
}

TEST_F(BarButtonTest, AnAttachedNodeAnswersForTheMirroredFlags)
{
    CExtCustomizeCmdTreeNode node(ID_OPEN, ID_OPEN);
    CExtBarButton open(&m_bar, ID_OPEN, 0);
    open.SetBasicCmdNode(&node);
    EXPECT_FALSE(open.IsSeparatedDropDown());
    node.ModifyFlags(0x40 | 0x100, 0);
    EXPECT_TRUE(open.IsSeparatedDropDown()) << "the node's flag answers";
    EXPECT_TRUE(open.IsHorizontalOnly());
    open.SetAutoChangeID(true);
    EXPECT_NE(0u, node.GetFlags() & 0x80) << "the setter writes the node too";
    EXPECT_FALSE(open.HasPopup(false));
    node.ModifyFlags(0x4, 0);
    EXPECT_TRUE(open.HasPopup(false)) << "node flag 4 makes a drop-down";
    open.ModifyStyle(0x80000, 0);
    EXPECT_NE(0u, node.GetFlags() & 0x400) << "hidden is mirrored into the node";
    open.ModifyStyle(0, 0x80000);
    EXPECT_EQ(0u, node.GetFlags() & 0x400);
    node.SetTextInToolbar("Node text");
    EXPECT_EQ("Node text", open.GetText());
    CExtBarButton sep(&m_bar, 0, 0);
    sep.SetBasicCmdNode(&node);
    EXPECT_TRUE(sep.GetCmdNode(false) == NULL) << "a separator has no node";
}

namespace {

UINT g_nChooseCmdID = 0;
bool g_bChoiceMade = false;
void CALLBACK ChooseFromTrackingMenu(HWND, UINT, UINT_PTR idEvent, DWORD)
{
    CExtPopupMenuWnd* pMenu = CExtPopupMenuWnd::GetTrackingMenu();
    if (pMenu == NULL)
        return;
    ::KillTimer(NULL, idEvent);
    g_bChoiceMade = true;
    pMenu->EndSequence(g_nChooseCmdID);
}

}  // namespace

TEST_F(BarButtonTest, AutoChangeChoiceBecomesTheEffectiveCommandAndIsDelivered)
{
    m_host.SetActiveWindow();
    CExtBarButton open(&m_bar, ID_OPEN, 0);
    open.SetRect(CRect(0, 0, 40, 22));
    HMENU hMenu = ::CreatePopupMenu();
    ::AppendMenu(hMenu, MF_STRING, ID_OPEN, "&Open");
    ::AppendMenu(hMenu, MF_STRING, ID_AMP, "A&&B");
    open.SetMenu(hMenu, false, true);
    open.SetAutoChangeID(true);
    open.ModifyStyle(0x20000, 0);

    g_nChooseCmdID = ID_AMP;
    g_bChoiceMade = false;
    UINT_PTR nTimer = ::SetTimer(NULL, 0, 10, ChooseFromTrackingMenu);
    EXPECT_EQ(UINT(-1), open.OnTrackPopup(CPoint(5, 5), false, true));
    ::KillTimer(NULL, nTimer);
    ASSERT_TRUE(g_bChoiceMade) << "the menu tracked in its own loop";
    EXPECT_FALSE(CExtPopupMenuWnd::IsMenuTracking());
    EXPECT_EQ(ID_AMP, open.GetCmdID(true));
    EXPECT_EQ(ID_OPEN, open.GetCmdID(false)) << "the basic id stays";
    EXPECT_EQ(0u, open.GetStyle() & 0x20000) << "no longer pressed";
    ASSERT_EQ(1u, m_host.m_commands.size());
    EXPECT_EQ(ID_AMP, LOWORD(m_host.m_commands[0].second));
    CExtToolControlBar::CancelAllButtonMenuTracking();
}

TEST_F(BarButtonTest, ADisabledDropDownStillOpensItsMenuButASplitOneOnlyFromItsArrow)
{
    m_host.SetActiveWindow();
    HMENU hMenu = ::CreatePopupMenu();
    ::AppendMenu(hMenu, MF_STRING, ID_OPEN, "&Open");
    CExtBarButton drop(&m_bar, ID_PLAIN, 0);
    drop.SetRect(CRect(0, 0, 40, 22));
    drop.SetMenu(hMenu, false, true);
    EXPECT_FALSE(drop.IsDisabled()) << "a menu enables the button";
    drop.ModifyStyle(0x40000, 0);
    drop.OnClick(CPoint(5, 5), true);
    EXPECT_TRUE(CExtPopupMenuWnd::IsMenuTracking());
    EXPECT_TRUE(drop.IsTracked());
    CExtPopupMenuWnd::CancelMenuTracking();
    PumpPending();
    CExtToolControlBar::CancelAllButtonMenuTracking();
    drop.ClearTracked();

    drop.SetSeparatedDropDown(true);
    drop.OnClick(CPoint(5, 5), true);
    drop.OnClick(CPoint(5, 5), false);
    EXPECT_FALSE(CExtPopupMenuWnd::IsMenuTracking()) << "main part of a disabled split button";
    EXPECT_TRUE(m_host.m_commands.empty());
    drop.OnClick(CPoint(35, 5), true);
    EXPECT_TRUE(CExtPopupMenuWnd::IsMenuTracking()) << "its arrow part";
    CExtPopupMenuWnd::CancelMenuTracking();
    PumpPending();
    CExtToolControlBar::CancelAllButtonMenuTracking();
}
