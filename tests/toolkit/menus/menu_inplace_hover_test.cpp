// An in-place edit item typed into and confirmed; the item-covering notifications and the
// status text of hovered items; the receiver suppressing an item's tip; split items that
// run their command except on their arrow; the release over the owner button.
#include "tests/toolkit/menus/menu_test_kit.h"

#include "toolkit/core/cmd_manager.h"

#include <algorithm>
#include <string>
#include <vector>

using namespace menukit;
using testsupport::PumpPastTimer;
using testsupport::PumpPending;
using testsupport::PumpUntil;

namespace {

typedef CExtPopupMenuWnd::ITEMCOVERINGNOTIFICATION ICN;
const UINT kZoom = 0x7B01, kPlain = 0x7B02, kSplit = 0x7B03, kInner = 0x7B04;

std::vector<std::string> g_log;
bool g_bSuppressTips = false;
CString g_sApplied;

LRESULT CALLBACK HoverReceiverProc(HWND hWnd, UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == CExtPopupMenuWnd::g_nMsgItemCoveringNotification)
    {
        ICN* p = (ICN*)wp;
        g_log.push_back("cover " + std::to_string((int)p->m_eICN) + " " + std::to_string(p->m_nItemIndex));
        p->m_bSuppressShowTip = g_bSuppressTips;
    }
    else if (msg == WM_COMMAND)
        g_log.push_back("command " + std::to_string(LOWORD(wp)));
    else
        return ::DefWindowProcA(hWnd, msg, wp, lp);
    return 0;
}

void RecordStatus(CWnd*, UINT nCmdID) { g_log.push_back("status " + std::to_string(nCmdID)); }
bool DigitsOnly(CWnd*, LPVOID, CString& s) { return s.SpanIncluding("0123456789").GetLength() == s.GetLength(); }
void Apply(CWnd*, LPVOID, CString& sText) { g_sApplied = sText; }
CString EditText(CWnd* pEdit)
{
    CString s;
    pEdit->GetWindowText(s);
    return s;
}

class InplaceHoverTest : public ReceiverTest
{
protected:
    const char* ReceiverClass() override
    {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = HoverReceiverProc;
        wc.lpszClassName = "InplaceHoverReceiver";
        ::RegisterClassA(&wc);
        return wc.lpszClassName;
    }
    void SetUp() override
    {
        ReceiverTest::SetUp();
        ASSERT_TRUE(g_CommandManager->ProfileSetup("inplace-hover", m_hWndRecv));
        m_pfnOldStatus = g_PopupBarServices.pfnShowCommandStatusText;
        g_PopupBarServices.pfnShowCommandStatusText = RecordStatus;
        g_log.clear();
        g_bSuppressTips = false;
    }
    void TearDown() override
    {
        ReceiverTest::TearDown();
        g_PopupBarServices.pfnShowCommandStatusText = m_pfnOldStatus;
        g_CommandManager->ProfileDestroy("inplace-hover", true);
    }
    // "Zoom" with an edit part of 60 pixels over m_sValue, digits only; then "Plain".
    CExtPopupMenuWnd* TrackZoomMenu()
    {
        CExtPopupMenuWnd* pMenu = NewMenu();
        pMenu->ItemInsertCommand(kZoom, -1, "&Zoom");
        pMenu->ItemInsertCommand(kPlain, -1, "&Plain");
        MID& mi = pMenu->ItemGetInfo(0);
        mi.m_pInplaceEditStr = &m_sValue;
        mi.m_nInplaceEditWidth = 60;
        mi.m_pCbInplaceEditValidate = DigitsOnly;
        mi.m_pCbInplaceEditCommit = Apply;
        mi.MeasureItem();
        EXPECT_TRUE(pMenu->TrackPopupMenu(kQuick, 60, 60));
        return pMenu;
    }
    CString m_sValue = "42";
    void (*m_pfnOldStatus)(CWnd*, UINT) = NULL;
};

}  // namespace

TEST_F(InplaceHoverTest, InplaceEditIsTypedIntoAndConfirmed)
{
    // The application is active, as when a user opens the menu: focusing the edit then
    // moves the activation inside the application only.
    ::SetWindowPos(m_hWndRecv, NULL, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_SHOWWINDOW);
    ::SetForegroundWindow(m_hWndRecv);
    PumpPending();
    CExtPopupMenuWnd* pMenu = TrackZoomMenu();
    CWnd* pEdit = pMenu->ItemGetInfo(0).GetInplaceEditWnd();
    ASSERT_NE(pEdit, nullptr) << "made with the window";
    EXPECT_FALSE(pEdit->IsWindowVisible());
    EXPECT_STREQ((LPCTSTR)EditText(pEdit), "42");
    CRect rcItem, rcExpected, rcEdit;
    pMenu->GetItemRect(0, rcItem, true);
    pMenu->ItemGetInfo(0).GetInplaceEditRect(rcExpected, rcItem, false);

    // Enter on the item puts the edit over its part of the row and focuses it; the
    // keyboard hook then passes typing and Enter on to it.
    pMenu->SelectItem(0, false, true, false);
    bool bNoEat = false;
    pMenu->OnKeyDown(VK_RETURN, 1, 0, bNoEat);
    ASSERT_TRUE(CExtPopupMenuWnd::IsMenuTracking());
    ASSERT_EQ(::GetFocus(), pEdit->GetSafeHwnd());
    EXPECT_FALSE(g_PopupTrackingSite.OnKeyboardHookEvent('7', 1));
    EXPECT_FALSE(g_PopupTrackingSite.OnKeyboardHookEvent(VK_RETURN, 1));
    pEdit->GetWindowRect(&rcEdit);
    pMenu->ScreenToClient(&rcEdit);
    EXPECT_EQ(rcEdit, rcExpected);

    // Keys are checked one by one: a letter leaves text and caret as they were.
    pEdit->SendMessage(EM_SETSEL, 2, 2);
    const struct
    {
        char ch;
        const char* sAfter;
    } typing[] = {{'x', "42"}, {'7', "427"}, {'-', "427"}, {'5', "4275"}};
    for (const auto& t : typing)
    {
        pEdit->SendMessage(WM_CHAR, (WPARAM)t.ch, 1);
        EXPECT_STREQ((LPCTSTR)EditText(pEdit), t.sAfter) << "after " << t.ch;
    }
    pEdit->SendMessage(EM_SETSEL, 0, 0);
    pEdit->SendMessage(CExtPopupMenuWnd::CInPlaceEditWnd::g_nMsgDeleteSelection, 0, 0);
    EXPECT_STREQ((LPCTSTR)EditText(pEdit), "275") << "Delete without a selection takes the next character";
    EXPECT_STREQ((LPCTSTR)m_sValue, "42") << "nothing stored before Enter";

    pEdit->SendMessage(WM_KEYDOWN, VK_RETURN, 1);
    EXPECT_STREQ((LPCTSTR)g_sApplied, "275");
    ASSERT_TRUE(PumpUntil([] { return !CExtPopupMenuWnd::IsMenuTracking(); }, 2000)) << "Enter closes the menu";
}

TEST_F(InplaceHoverTest, HoverNotifiesTheReceiverWhichMaySuppressTheTip)
{
    const bool bSavedTips = CExtPopupMenuWnd::g_bShowMenuTips;
    CExtPopupMenuWnd::g_bShowMenuTips = true;
    for (bool bSuppress : {false, true})
    {
        g_bSuppressTips = bSuppress;
        CExtPopupMenuWnd* pMenu = NewMenu();
        pMenu->ItemInsertCommand(kPlain, -1, "&Plain");
        pMenu->ItemInsert(CExtPopupMenuWnd::TYPE_SEPARATOR);
        pMenu->ItemInsert(CExtPopupMenuWnd::TYPE_POPUP, -1, "&More");
        pMenu->ItemGetPopup(2)->ItemInsertCommand(kInner, -1, "Inner");
        pMenu->ItemGetInfo(0).m_sTipText = "The plain command";
        ASSERT_TRUE(pMenu->TrackPopupMenu(kQuick, 60, 60));
        g_log.clear();
        MoveTo(pMenu, ItemCentre(pMenu, 0));
        CWnd* pTip = pMenu->GetMenuTipWnd();
        auto tipShown = [pTip] { return pTip->GetSafeHwnd() != NULL && pTip->IsWindowVisible() != FALSE; };
        // A shown tip is waited for. A suppressed one would come from the tip's show timer,
        // set by the hover above: a timer set after it and falling due later fires after it.
        if (bSuppress)
            ASSERT_TRUE(PumpPastTimer(CExtPopupMenuTipWnd::ID_PERIOD_SHOW + 50));
        else
            PumpUntil(tipShown, 3000);
        EXPECT_EQ(tipShown(), !bSuppress) << "suppress " << bSuppress;
        if (!bSuppress)
        {
            // A release on the menu's own tip is eaten and keeps the menu.
            CRect rcTip;
            pTip->GetWindowRect(&rcTip);
            CPoint pt = rcTip.CenterPoint();
            pMenu->ScreenToClient(&pt);
            EXPECT_TRUE(Click(pMenu, WM_LBUTTONUP, pt));
            EXPECT_TRUE(CExtPopupMenuWnd::IsMenuTracking());
        }
        for (int nItem : {2, 1})
            MoveTo(pMenu, ItemCentre(pMenu, nItem));
        const std::vector<std::string> expected = {
            "cover 1 0", "status " + std::to_string(kPlain),  // selected
            "cover 0 0", "status 57345",                      // left for the sub-menu item
            "cover 1 2", "status 57345",                      // a sub-menu item shows the idle text
            "cover 2 2",                                      // hovered: its sub-menu waits
            "cover 0 2", "status 57345",                      // the separator selects nothing
        };
        EXPECT_EQ(g_log, expected);
        CExtPopupMenuWnd::CancelMenuTracking();
        PumpPending();
    }
    CExtPopupMenuWnd::g_bShowMenuTips = bSavedTips;
}

TEST_F(InplaceHoverTest, SplitItemRunsItsCommandExceptOnTheArrow)
{
    CExtCmdItem* pCmd = g_CommandManager->CmdAllocPtr("inplace-hover", kSplit);
    ASSERT_NE(pCmd, nullptr);
    CExtCustomizeCmdTreeNode node(kSplit, kSplit);
    node.ModifyFlags(0x40 | 0x04);
    for (bool bOnArrow : {false, true})
    {
        g_log.clear();
        CExtPopupMenuWnd* pMenu = NewMenu();
        pMenu->ItemInsert(CExtPopupMenuWnd::TYPE_POPUP, -1, "&Split");
        pMenu->ItemGetPopup(0)->ItemInsertCommand(kInner, -1, "Inner");
        pMenu->ItemGetInfo(0).m_pCmdNode = &node;
        ASSERT_TRUE(pMenu->TrackPopupMenu(kQuick, 60, 60));
        CRect rcItem;
        pMenu->GetItemRect(0, rcItem, true);
        const CPoint pt = bOnArrow ? CPoint(rcItem.right - 5, rcItem.CenterPoint().y) : rcItem.CenterPoint();
        EXPECT_TRUE(Click(pMenu, WM_LBUTTONUP, pt)) << "arrow " << bOnArrow;
        PumpPending();
        const bool bCommand = std::count(g_log.begin(), g_log.end(), "command " + std::to_string(kSplit)) == 1;
        EXPECT_EQ(bCommand, !bOnArrow) << "arrow " << bOnArrow;
        EXPECT_EQ(CExtPopupMenuWnd::IsMenuTracking() != FALSE, bOnArrow) << "arrow " << bOnArrow;
        CExtPopupMenuWnd::CancelMenuTracking();
        PumpPending();
    }
}

TEST_F(InplaceHoverTest, ReleaseOverTheOwnersButtonKeepsAButtonMenu)
{
    static const CRect s_rcButton(300, 300, 340, 324);
    CExtPopupBarServices saved = g_PopupBarServices;
    g_PopupBarServices.pfnIsButtonMenuTracking = [] { return true; };
    g_PopupBarServices.pfnGetTrackedButtonRect = [](RECT* p) { return (*p = s_rcButton), true; };
    CExtPopupMenuWnd* pMenu = NewMenu();
    pMenu->ItemInsertCommand(kPlain, -1, "&Plain");
    ASSERT_TRUE(pMenu->TrackPopupMenu(kQuick | 4, 0, 0, &s_rcButton));
    CPoint ptOnButton(320, 310), ptElsewhere(600, 600);
    pMenu->ScreenToClient(&ptOnButton);
    pMenu->ScreenToClient(&ptElsewhere);
    EXPECT_TRUE(Click(pMenu, WM_LBUTTONUP, ptOnButton));
    EXPECT_TRUE(CExtPopupMenuWnd::IsMenuTracking());
    EXPECT_FALSE(Click(pMenu, WM_LBUTTONUP, ptElsewhere));
    PumpPending();
    EXPECT_FALSE(CExtPopupMenuWnd::IsMenuTracking());
    g_PopupBarServices = saved;
}
