// Tracking a popup menu: opening at a point and beside a rectangle on the work area,
// choosing an item by the click and key handlers (and once by real input), the posted
// command after the closing notification, the result pointer, cancelling, the receiver's
// veto, a second menu replacing the first, the synchronous loop and sub-menus.
#include <gtest/gtest.h>

#include "framework/framework.h"
#include "support/message_pump.h"
#include "support/msg_recorder.h"
#include "toolkit/menus/popup_menu_wnd.h"
#include "toolkit/theme/paint_manager.h"

using testsupport::ExpectedMsg;
using testsupport::kLParam;
using testsupport::kOptional;
using testsupport::kPosted;
using testsupport::kSent;
using testsupport::kWParam;
using testsupport::MsgRecorder;
using testsupport::PumpPending;
using testsupport::PumpUntil;

namespace {

typedef CExtPopupMenuWnd::MENUITEMDATA MID;

const UINT kCmdOpen = 0x7301, kCmdSave = 0x7302, kCmdExit = 0x7303, kCmdInner = 0x7304;
const UINT kBaseFlags =
    CExtPopupMenuWnd::TMF_NO_CMD_UI | CExtPopupMenuWnd::TMF_NO_ANIMATION | CExtPopupMenuWnd::TMF_NO_SHADOW;
const UINT WM_TEST_CHOOSE = WM_APP + 21;

MsgRecorder* g_pRecorder = NULL;
bool g_bVeto = false;
int g_nMenusDeleted = 0;

class CountedMenu : public CExtPopupMenuWnd
{
public:
    ~CountedMenu() override { g_nMenusDeleted++; }
};

LRESULT CALLBACK ReceiverProc(HWND hWnd, UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == CExtPopupMenuWnd::g_nMsgPrepareMenu || msg == CExtPopupMenuWnd::g_nMsgPrepareOneMenuLevel)
    {
        if (g_pRecorder != NULL)
            g_pRecorder->Record(msg, 0, lp, hWnd, "recv");
        if (g_bVeto && msg == CExtPopupMenuWnd::g_nMsgPrepareMenu)
            ((CExtPopupMenuWnd::PREPAREMENUDATA*)wp)->m_nFlags |= 0x02;
        return 0;
    }
    if (msg == CExtPopupMenuWnd::g_nMsgNotifyMenuClosed)
    {
        if (g_pRecorder != NULL)
            g_pRecorder->Record(msg, wp, 0, hWnd, "recv");
        return 0;
    }
    if (msg == WM_COMMAND)
    {
        if (g_pRecorder != NULL)
            g_pRecorder->Record(msg, wp, lp, hWnd, "recv", true);
        return 0;
    }
    if (msg == WM_TEST_CHOOSE)
    {
        // Inside the synchronous loop: move to the second item and take it.
        CExtPopupMenuWnd* pMenu = g_PopupTrackingSite.GetCurrentPopup();
        bool bNoEat = false;
        if (pMenu != NULL)
        {
            pMenu->OnKeyDown(VK_DOWN, 1, 0, bNoEat);
            pMenu->OnKeyDown(VK_DOWN, 1, 0, bNoEat);
            pMenu->OnKeyDown(VK_RETURN, 1, 0, bNoEat);
        }
        return 0;
    }
    return ::DefWindowProcA(hWnd, msg, wp, lp);
}

class MenuTrackTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        // Sub-menus open with the default animation; these cases show them at once.
        m_nSavedAnimation = CExtPopupBaseWnd::g_nDefaultAnimation;
        CExtPopupBaseWnd::g_nDefaultAnimation = 0;
        g_CurrentPaintManager.InstallPaintManagerByClass(RUNTIME_CLASS(CExtPaintManagerXP));
        WNDCLASSA wc = {};
        wc.lpfnWndProc = ReceiverProc;
        wc.hInstance = ::GetModuleHandleA(NULL);
        wc.lpszClassName = "MenuTrackTestReceiver";
        ::RegisterClassA(&wc);
        m_hWndRecv = ::CreateWindowA("MenuTrackTestReceiver", "", WS_POPUP, 0, 0, 10, 10, NULL, NULL,
                                     wc.hInstance, NULL);
        ASSERT_NE(m_hWndRecv, (HWND)NULL);
        ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &m_rcWork, 0);
        m_rec.Only({CExtPopupMenuWnd::g_nMsgPrepareMenu, CExtPopupMenuWnd::g_nMsgPrepareOneMenuLevel,
                    CExtPopupMenuWnd::g_nMsgNotifyMenuClosed, WM_COMMAND});
        g_pRecorder = &m_rec;
        g_bVeto = false;
        g_nMenusDeleted = 0;
    }
    void TearDown() override
    {
        CExtPopupBaseWnd::g_nDefaultAnimation = m_nSavedAnimation;
        CExtPopupMenuWnd::CancelMenuTracking();
        PumpPending();
        g_pRecorder = NULL;
        ::DestroyWindow(m_hWndRecv);
    }
    // A menu of Open, Save, separator, Exit; optionally a sub-menu with one command.
    CExtPopupMenuWnd* MakeMenu(bool bWithSubMenu = false)
    {
        CExtPopupMenuWnd* pMenu = new CountedMenu;
        EXPECT_TRUE(pMenu->CreatePopupMenu(m_hWndRecv));
        pMenu->ItemInsertCommand(kCmdOpen, -1, "&Open");
        pMenu->ItemInsertCommand(kCmdSave, -1, "&Save");
        pMenu->ItemInsert(CExtPopupMenuWnd::TYPE_SEPARATOR);
        pMenu->ItemInsertCommand(kCmdExit, -1, "E&xit");
        if (bWithSubMenu)
        {
            pMenu->ItemInsert(CExtPopupMenuWnd::TYPE_POPUP, -1, "&More");
            CExtPopupMenuWnd* pSub = pMenu->ItemGetPopup(pMenu->ItemGetCount() - 1);
            pSub->ItemInsertCommand(kCmdInner, -1, "&Inner");
            pSub->ItemGetInfo(0).m_nStateFlags |= MID::__MIS_ENABLED;
        }
        for (int i = 0; i < pMenu->ItemGetCount(); i++)
            if (!pMenu->ItemGetInfo(i).IsSeparator())
                pMenu->ItemGetInfo(i).m_nStateFlags |= MID::__MIS_ENABLED;
        return pMenu;
    }
    static CRect WindowRect(CWnd* pWnd)
    {
        CRect rc;
        pWnd->GetWindowRect(&rc);
        return rc;
    }
    // The centre of an item in the menu's client coordinates.
    static CPoint ItemCentre(CExtPopupMenuWnd* pMenu, int nItem)
    {
        CRect rc;
        pMenu->GetItemRect(nItem, rc, true);
        return rc.CenterPoint();
    }

    HWND m_hWndRecv = NULL;
    CRect m_rcWork;
    MsgRecorder m_rec;
    int m_nSavedAnimation = 0;
};

}  // namespace

TEST_F(MenuTrackTest, OpensAtThePointAndFlipsAtTheWorkAreaEdges)
{
    CExtPopupMenuWnd* pMenu = MakeMenu();
    const CPoint pt(m_rcWork.left + 100, m_rcWork.top + 100);
    ASSERT_TRUE(pMenu->TrackPopupMenu(kBaseFlags, pt.x, pt.y));
    ASSERT_TRUE(CExtPopupMenuWnd::IsMenuTracking());
    ASSERT_TRUE(pMenu->IsWindowVisible());
    CSize size;
    pMenu->CalcMenuSize(size);
    EXPECT_EQ(WindowRect(pMenu), CRect(pt, size));
    EXPECT_EQ(g_PopupTrackingSite.GetCurrentPopup(), pMenu);
    // Opened in the bottom-right corner it flips to the left of and above the point.
    CExtPopupMenuWnd* pMenu2 = MakeMenu();
    const CPoint ptCorner(m_rcWork.right - 5, m_rcWork.bottom - 5);
    ASSERT_TRUE(pMenu2->TrackPopupMenu(kBaseFlags, ptCorner.x, ptCorner.y));
    EXPECT_EQ(g_nMenusDeleted, 1) << "the second menu ended the first one's tracking";
    EXPECT_EQ(g_PopupTrackingSite.GetInstance(), pMenu2);
    pMenu2->CalcMenuSize(size);
    EXPECT_EQ(WindowRect(pMenu2), CRect(ptCorner.x - size.cx, ptCorner.y - size.cy, ptCorner.x, ptCorner.y));
}

TEST_F(MenuTrackTest, BelowAButtonWithoutRoomItOpensAbove)
{
    CExtPopupMenuWnd* pMenu = MakeMenu();
    const CRect rcButton(m_rcWork.left + 200, m_rcWork.bottom - 20, m_rcWork.left + 260, m_rcWork.bottom - 2);
    ASSERT_TRUE(pMenu->TrackPopupMenu(kBaseFlags | 4, 0, 0, &rcButton));
    CSize size;
    pMenu->CalcMenuSize(size);
    EXPECT_EQ(WindowRect(pMenu), CRect(rcButton.left, rcButton.top - size.cy, rcButton.left + size.cx, rcButton.top));
    CExtPopupMenuWnd::CancelMenuTracking();
    PumpPending();
    // With room below it lies below the button, left edges aligned.
    CExtPopupMenuWnd* pMenu2 = MakeMenu();
    const CRect rcTop(m_rcWork.left + 200, m_rcWork.top + 10, m_rcWork.left + 260, m_rcWork.top + 30);
    ASSERT_TRUE(pMenu2->TrackPopupMenu(kBaseFlags | 4, 0, 0, &rcTop));
    pMenu2->CalcMenuSize(size);
    EXPECT_EQ(WindowRect(pMenu2), CRect(rcTop.left, rcTop.bottom, rcTop.left + size.cx, rcTop.bottom + size.cy));
}

TEST_F(MenuTrackTest, AClickOnAnItemPostsItsCommandAfterTheMenuClosed)
{
    CExtPopupMenuWnd* pMenu = MakeMenu();
    UINT nResult = 0xFFFF;
    ASSERT_TRUE(pMenu->TrackPopupMenu(kBaseFlags, m_rcWork.left + 50, m_rcWork.top + 50, NULL, NULL, NULL, &nResult));
    EXPECT_EQ(nResult, 0u) << "cleared when tracking starts";
    const LPARAM lMenu = (LPARAM)pMenu;
    bool bNoEat = false;
    EXPECT_TRUE(pMenu->OnMouseClickTracked(WM_LBUTTONUP, ItemCentre(pMenu, 1), bNoEat));
    EXPECT_EQ(nResult, kCmdSave);
    ASSERT_TRUE(PumpUntil([&] { return m_rec.Count(WM_COMMAND) > 0; }));
    EXPECT_FALSE(CExtPopupMenuWnd::IsMenuTracking());
    EXPECT_EQ(g_nMenusDeleted, 1);
    EXPECT_TRUE(m_rec.Matches({
        {CExtPopupMenuWnd::g_nMsgPrepareMenu, kSent | kLParam, 0, lMenu},
        {CExtPopupMenuWnd::g_nMsgPrepareOneMenuLevel, kSent | kLParam, 0, lMenu},
        {CExtPopupMenuWnd::g_nMsgNotifyMenuClosed, kSent},
        {WM_COMMAND, kPosted | kWParam | kLParam, kCmdSave, 0},
    }));
}

TEST_F(MenuTrackTest, NoDeliveryOnlyFillsTheResult)
{
    CExtPopupMenuWnd* pMenu = MakeMenu();
    UINT nResult = 0;
    ASSERT_TRUE(pMenu->TrackPopupMenu(kBaseFlags | CExtPopupMenuWnd::TMF_NO_DELIVERY, m_rcWork.left + 50,
                                      m_rcWork.top + 50, NULL, NULL, NULL, &nResult));
    bool bNoEat = false;
    pMenu->OnMouseClickTracked(WM_LBUTTONUP, ItemCentre(pMenu, 3), bNoEat);
    ASSERT_TRUE(PumpUntil([] { return !CExtPopupMenuWnd::IsMenuTracking(); }));
    PumpPending();
    EXPECT_EQ(nResult, kCmdExit);
    EXPECT_EQ(m_rec.Count(WM_COMMAND), 0u);
}

TEST_F(MenuTrackTest, KeysMoveTheSelectionAndEscapeCancels)
{
    CExtPopupMenuWnd* pMenu = MakeMenu();
    UINT nResult = 0xFFFF;
    ASSERT_TRUE(pMenu->TrackPopupMenu(kBaseFlags, m_rcWork.left + 50, m_rcWork.top + 50, NULL, NULL, NULL, &nResult));
    bool bNoEat = false;
    pMenu->OnKeyDown(VK_DOWN, 1, 0, bNoEat);
    EXPECT_EQ(pMenu->GetCurrentItem(), 0);
    pMenu->OnKeyDown(VK_UP, 1, 0, bNoEat);
    EXPECT_EQ(pMenu->GetCurrentItem(), 3) << "up from the first item wraps past the separator";
    EXPECT_TRUE(pMenu->ItemGetInfo(3).IsSelected());
    EXPECT_FALSE(pMenu->ItemGetInfo(0).IsSelected());
    pMenu->OnKeyDown(VK_ESCAPE, 1, 0, bNoEat);
    ASSERT_TRUE(PumpUntil([] { return !CExtPopupMenuWnd::IsMenuTracking(); }));
    PumpPending();
    EXPECT_EQ(nResult, 0u);
    EXPECT_EQ(m_rec.Count(WM_COMMAND), 0u);
    EXPECT_EQ(m_rec.Count(CExtPopupMenuWnd::g_nMsgNotifyMenuClosed), 1u);

    // An access key takes its item at once.
    CExtPopupMenuWnd* pMenu2 = MakeMenu();
    ASSERT_TRUE(pMenu2->TrackPopupMenu(kBaseFlags, m_rcWork.left + 50, m_rcWork.top + 50, NULL, NULL, NULL, &nResult));
    pMenu2->OnKeyDown('X', 1, 0, bNoEat);
    EXPECT_EQ(nResult, kCmdExit);
    ASSERT_TRUE(PumpUntil([&] { return m_rec.Count(WM_COMMAND) > 0; }));
    EXPECT_EQ(m_rec.Records().back().wParam, (WPARAM)kCmdExit);
}

TEST_F(MenuTrackTest, TheReceiverCanVetoTheMenu)
{
    g_bVeto = true;
    CExtPopupMenuWnd* pMenu = MakeMenu();
    EXPECT_FALSE(pMenu->TrackPopupMenu(kBaseFlags, m_rcWork.left + 50, m_rcWork.top + 50));
    EXPECT_FALSE(CExtPopupMenuWnd::IsMenuTracking());
    EXPECT_FALSE(g_PopupTrackingSite.AreHooksInstalled());
    EXPECT_EQ(g_nMenusDeleted, 0) << "the caller still owns the menu that did not show";
    EXPECT_EQ(pMenu->GetSafeHwnd(), (HWND)NULL);
    delete pMenu;
    EXPECT_EQ(g_nMenusDeleted, 1);
}

TEST_F(MenuTrackTest, TheSynchronousCallReturnsWhenTheTreeIsGone)
{
    CExtPopupMenuWnd* pMenu = MakeMenu();
    UINT nResult = 0;
    ::PostMessageA(m_hWndRecv, WM_TEST_CHOOSE, 0, 0);
    ASSERT_TRUE(pMenu->TrackPopupMenu(kBaseFlags | CExtPopupMenuWnd::TMF_SYNC, m_rcWork.left + 50,
                                      m_rcWork.top + 50, NULL, NULL, NULL, &nResult));
    EXPECT_FALSE(CExtPopupMenuWnd::IsMenuTracking());
    EXPECT_EQ(nResult, kCmdSave);
    PumpPending();
    EXPECT_EQ(m_rec.Count(WM_COMMAND), 1u);
}

TEST_F(MenuTrackTest, SubMenusOpenBesideTheirItemAndFlipNearTheEdge)
{
    CExtPopupMenuWnd* pMenu = MakeMenu(true);
    UINT nResult = 0;
    ASSERT_TRUE(pMenu->TrackPopupMenu(kBaseFlags, m_rcWork.left + 50, m_rcWork.top + 50, NULL, NULL, NULL, &nResult));
    bool bNoEat = false;
    EXPECT_TRUE(pMenu->OnMouseClickTracked(WM_LBUTTONUP, ItemCentre(pMenu, 4), bNoEat));
    CExtPopupMenuWnd* pSub = pMenu->ItemGetPopup(4);
    ASSERT_NE(pSub->GetSafeHwnd(), (HWND)NULL);
    EXPECT_TRUE(pSub->IsWindowVisible());
    CRect rcItem;
    pMenu->GetItemRect(4, rcItem, true);
    pMenu->ClientToScreen(&rcItem);
    EXPECT_EQ(WindowRect(pSub).TopLeft(), CPoint(rcItem.right, rcItem.top));
    // Choosing inside the sub-menu ends the whole tree.
    pSub->ActivateCurrentPopup();
    EXPECT_TRUE(pSub->OnMouseClickTracked(WM_LBUTTONUP, ItemCentre(pSub, 0), bNoEat));
    EXPECT_EQ(nResult, kCmdInner);
    ASSERT_TRUE(PumpUntil([&] { return m_rec.Count(WM_COMMAND) > 0; }));
    EXPECT_FALSE(CExtPopupMenuWnd::IsMenuTracking());

    // Near the right edge the sub-menu opens on the left of its item.
    CExtPopupMenuWnd* pMenu2 = MakeMenu(true);
    CSize size;
    pMenu2->RecalcLayout();
    pMenu2->CalcMenuSize(size);
    ASSERT_TRUE(pMenu2->TrackPopupMenu(kBaseFlags, m_rcWork.right - size.cx - 5, m_rcWork.top + 50));
    EXPECT_TRUE(pMenu2->OnMouseClickTracked(WM_LBUTTONUP, ItemCentre(pMenu2, 4), bNoEat));
    CExtPopupMenuWnd* pSub2 = pMenu2->ItemGetPopup(4);
    ASSERT_NE(pSub2->GetSafeHwnd(), (HWND)NULL);
    pMenu2->GetItemRect(4, rcItem, true);
    pMenu2->ClientToScreen(&rcItem);
    EXPECT_EQ(WindowRect(pSub2).right, rcItem.left);
}

TEST_F(MenuTrackTest, ARealClickChoosesAndAClickOutsideCancels)
{
    CExtPopupMenuWnd* pMenu = MakeMenu();
    UINT nResult = 0;
    ASSERT_TRUE(pMenu->TrackPopupMenu(kBaseFlags, m_rcWork.left + 60, m_rcWork.top + 60, NULL, NULL, NULL, &nResult));
    PumpPending();
    CPoint pt = ItemCentre(pMenu, 0);
    pMenu->ClientToScreen(&pt);
    auto send = [](CPoint p, DWORD dwFlags) {
        INPUT in = {};
        in.type = INPUT_MOUSE;
        in.mi.dx = p.x * 65535 / (::GetSystemMetrics(SM_CXSCREEN) - 1);
        in.mi.dy = p.y * 65535 / (::GetSystemMetrics(SM_CYSCREEN) - 1);
        in.mi.dwFlags = MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE | dwFlags;
        ::SendInput(1, &in, sizeof(in));
    };
    send(pt, 0);
    PumpUntil([&] { return pMenu->GetCurrentItem() == 0; }, 3000);
    EXPECT_EQ(pMenu->GetCurrentItem(), 0) << "the move selected the item";
    send(pt, MOUSEEVENTF_LEFTDOWN);
    send(pt, MOUSEEVENTF_LEFTUP);
    ASSERT_TRUE(PumpUntil([&] { return m_rec.Count(WM_COMMAND) > 0; }, 3000));
    EXPECT_EQ(nResult, kCmdOpen);
    EXPECT_FALSE(CExtPopupMenuWnd::IsMenuTracking());

    CExtPopupMenuWnd* pMenu2 = MakeMenu();
    ASSERT_TRUE(pMenu2->TrackPopupMenu(kBaseFlags, m_rcWork.left + 60, m_rcWork.top + 60, NULL, NULL, NULL, &nResult));
    PumpPending();
    // Hooks see input of this thread's windows only: click on one of ours.
    HWND hWndOther = ::CreateWindowExA(WS_EX_TOPMOST, "MenuTrackTestReceiver", "", WS_POPUP | WS_VISIBLE, m_rcWork.right - 100,
                                       m_rcWork.bottom - 100, 80, 80, NULL, NULL, NULL, NULL);
    PumpPending();
    const CPoint ptOut(m_rcWork.right - 60, m_rcWork.bottom - 60);
    send(ptOut, MOUSEEVENTF_LEFTDOWN);
    send(ptOut, MOUSEEVENTF_LEFTUP);
    const bool bEnded = PumpUntil([] { return !CExtPopupMenuWnd::IsMenuTracking(); }, 3000);
    ::DestroyWindow(hWndOther);
    ASSERT_TRUE(bEnded);
    EXPECT_EQ(nResult, 0u);
    EXPECT_EQ(m_rec.Count(WM_COMMAND), 1u);
}

TEST_F(MenuTrackTest, ACombinedMenuCoversItsButton)
{
    CExtPopupMenuWnd* pMenu = MakeMenu();
    const CRect rcButton(m_rcWork.left + 100, m_rcWork.top + 20, m_rcWork.left + 130, m_rcWork.top + 40);
    ASSERT_TRUE(pMenu->TrackPopupMenu(kBaseFlags | 4 | CExtPopupMenuWnd::TMF_COMBINE_ALWAYS, 0, 0, &rcButton));
    CSize size;
    pMenu->CalcMenuSize(size);
    EXPECT_EQ(pMenu->m_nCombineSide, 1) << "the menu lies below its button";
    // The window spans the button and the menu, which overlaps the button by one row.
    EXPECT_EQ(WindowRect(pMenu),
              CRect(rcButton.left, rcButton.top, rcButton.left + size.cx, rcButton.bottom - 1 + size.cy));
    EXPECT_EQ(pMenu->m_rcMenu, CRect(0, rcButton.Height() - 1, size.cx, rcButton.Height() - 1 + size.cy));
    HRGN hRgn = ::CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(::GetWindowRgn(pMenu->GetSafeHwnd(), hRgn), COMPLEXREGION) << "the button and the menu";
    ::DeleteObject(hRgn);

    // At the right edge the menu is pushed left to end with the work area, still below
    // its button and combined with it.
    CExtPopupMenuWnd* pMenu2 = MakeMenu();
    const CRect rcEdge(m_rcWork.right - 30, m_rcWork.top + 20, m_rcWork.right, m_rcWork.top + 40);
    ASSERT_TRUE(pMenu2->TrackPopupMenu(kBaseFlags | 4 | CExtPopupMenuWnd::TMF_COMBINE_ALWAYS, 0, 0, &rcEdge));
    pMenu2->CalcMenuSize(size);
    EXPECT_EQ(pMenu2->m_nCombineSide, 1);
    EXPECT_EQ(WindowRect(pMenu2),
              CRect(m_rcWork.right - size.cx, rcEdge.top, m_rcWork.right, rcEdge.bottom - 1 + size.cy));
}

TEST_F(MenuTrackTest, SystemCommandsFollowTheWindowAndItsSystemMenu)
{
    HWND hWndFrame = ::CreateWindowA("MenuTrackTestReceiver", "Frame", WS_OVERLAPPEDWINDOW & ~WS_MAXIMIZEBOX, 300,
                                     300, 200, 150, NULL, NULL, NULL, NULL);
    ASSERT_NE(hWndFrame, (HWND)NULL);
    CExtPopupMenuWnd* pMenu = new CExtPopupMenuWnd;
    ASSERT_TRUE(pMenu->CreatePopupMenu(m_hWndRecv));
    const UINT nCmds[] = {SC_MOVE, SC_MAXIMIZE, SC_RESTORE, SC_CLOSE};
    for (UINT nCmd : nCmds)
        ASSERT_TRUE(pMenu->ItemInsertCommand(nCmd, -1, "x", NULL, CExtCmdIcon(), 0, hWndFrame));
    ASSERT_TRUE(pMenu->TrackPopupMenu(kBaseFlags, m_rcWork.left + 50, m_rcWork.top + 50));
    const bool bExpected[] = {true, false, false, true};
    for (int i = 0; i < 4; i++)
        EXPECT_EQ(pMenu->ItemEnabledGet(i), bExpected[i]) << "command " << std::hex << nCmds[i];
    // The texts come from the window's own system menu, split at the tab.
    char szText[256] = {0};
    ::GetMenuStringA(::GetSystemMenu(hWndFrame, FALSE), SC_CLOSE, szText, sizeof(szText), MF_BYCOMMAND);
    CString sText(szText), sAccel;
    const int nTab = sText.Find('\t');
    if (nTab >= 0)
    {
        sAccel = sText.Mid(nTab + 1);
        sText = sText.Left(nTab);
    }
    EXPECT_STREQ((LPCTSTR)pMenu->ItemGetText(3), (LPCTSTR)sText);
    EXPECT_STREQ((LPCTSTR)pMenu->ItemGetAccelText(3), (LPCTSTR)sAccel);
    CExtPopupMenuWnd::CancelMenuTracking();
    PumpPending();
    ::DestroyWindow(hWndFrame);
}
