// Tab window painting, clicks, selection and its notifications, buttons, page scrolling,
// moving items and the delayed selection.
#include <gtest/gtest.h>
#include "tab_wnd_test_strip.h"
#include "support/dib_canvas.h"
#include "support/message_pump.h"
#include "toolkit/menus/popup_menu_tip_wnd.h"
#include "toolkit/menus/popup_tracking_site.h"

using testsupport::ExpectedMsg;
using testsupport::kLParam;
using testsupport::kSent;
using testsupport::kWParam;

namespace {

const COLORREF kItemsColor = RGB(0, 0, 200);
const COLORREF kBorderColor = RGB(0, 200, 0);
const COLORREF kClientColor = RGB(200, 0, 0);

struct ButtonCall
{
    CRect rc;
    int nHitTest;
    bool bEnabled, bHover, bPushed;
};

// Paints its background in three known colours and records the buttons it paints.
class PaintStrip : public TestTabStrip
{
public:
    std::vector<ButtonCall> m_buttons;
    void OnTabWndEraseClientArea(CDC& dc, const RECT& rcClient, const RECT& rcItems, const RECT& rcBorder, int,
                                 bool) override
    {
        dc.FillSolidRect(&rcClient, kClientColor);
        dc.FillSolidRect(&rcItems, kItemsColor);
        dc.FillSolidRect(&rcBorder, kBorderColor);
    }
    void OnTabWndDrawButton(CDC& dc, const RECT& rc, int nHitTest, bool bTopLeft, bool bHorz, bool bEnabled,
                            bool bHover, bool bPushed, bool bGrouped) override
    {
        m_buttons.push_back({CRect(rc), nHitTest, bEnabled, bHover, bPushed});
        CExtTabWnd::OnTabWndDrawButton(dc, rc, nHitTest, bTopLeft, bHorz, bEnabled, bHover, bPushed, bGrouped);
    }
    const ButtonCall* Button(int nHitTest) const
    {
        for (const ButtonCall& b : m_buttons)
            if (b.nHitTest == nHitTest)
                return &b;
        return nullptr;
    }
};

class TabPaintMouse : public ::testing::Test
{
protected:
    void SetUp() override { ::SetCursorPos(1200, 1000); }
    void Make(int cx, int cy, DWORD dwStyle, int nItems, int cxItem)
    {
        ASSERT_TRUE(m_tabs.Create(m_host.Wnd(), CRect(0, 0, cx, cy), 101, WS_CHILD | WS_VISIBLE, dwStyle));
        for (int i = 0; i < nItems; i++)
            m_tabs.ItemInsert(NULL, (HICON)NULL, 0, -1, ItemSize(cxItem, 20));
        m_tabs.UpdateTabWnd(false);
        m_tabs.RecalcLayout();
    }
    LRESULT Click(UINT message, int x, int y)
    {
        return m_tabs.SendMessage(message, (message == WM_LBUTTONDOWN) ? MK_LBUTTON : 0, MAKELPARAM(x, y));
    }
    TabHost m_host;
    PaintStrip m_tabs;
    testsupport::MsgRecorder m_rec;
};

}  // namespace

TEST_F(TabPaintMouse, PaintsBackgroundInViewItemsAndButtons)
{
    Make(400, 40, 0x08 | 0x0100, 10, 100);  // help button, enabled
    m_tabs.ItemEnsureVisible(5);
    m_tabs.RecalcLayout();
    ASSERT_EQ(256, m_tabs.GetScrollPos()) << "the help button shortens the items area to 344";
    testsupport::DibCanvas canvas(400, 40);
    m_tabs.m_drawn.clear();
    m_tabs.m_buttons.clear();  // the window may have painted itself already
    m_tabs.OnTabWndDrawEntire(*CDC::FromHandle(canvas.Dc()), CRect(0, 0, 400, 40));

    ASSERT_EQ(5u, m_tabs.m_drawn.size()) << "only the items in view";
    for (size_t i = 0; i < m_tabs.m_drawn.size(); i++)
    {
        const int nIndex = 2 + (int)i;
        EXPECT_EQ(nIndex, m_tabs.m_drawn[i].first);
        // Shifted by the items-area start (4) minus the scroll position (256).
        EXPECT_RECT(CRect(nIndex * 100 - 252, 2, nIndex * 100 - 152, 22), m_tabs.m_drawn[i].second) << "item " << nIndex;
    }
    EXPECT_EQ(kBorderColor, canvas.Pixel(200, 30)) << "border area";
    EXPECT_EQ(kClientColor, canvas.Pixel(200, 0)) << "above the items area";

    // Painting order: back, forward, help; enabled by their style bits.
    ASSERT_EQ(3u, m_tabs.m_buttons.size());
    EXPECT_EQ(-4, m_tabs.m_buttons[0].nHitTest);
    EXPECT_EQ(-5, m_tabs.m_buttons[1].nHitTest);
    EXPECT_EQ(-6, m_tabs.m_buttons[2].nHitTest);
    EXPECT_TRUE(m_tabs.Button(-4)->bEnabled);
    EXPECT_TRUE(m_tabs.Button(-5)->bEnabled);
    EXPECT_TRUE(m_tabs.Button(-6)->bEnabled);
    EXPECT_FALSE(m_tabs.Button(-6)->bHover) << "the cursor is far away";

    m_tabs.ItemEnsureVisible(9);
    m_tabs.RecalcLayout();
    m_tabs.m_buttons.clear();
    m_tabs.ModifyTabWndStyle(0x0100, 0);
    m_tabs.RecalcLayout();
    m_tabs.OnTabWndDrawEntire(*CDC::FromHandle(canvas.Dc()), CRect(0, 0, 400, 40));
    EXPECT_FALSE(m_tabs.Button(-5)->bEnabled) << "at the end nothing is left to scroll";
    EXPECT_FALSE(m_tabs.Button(-6)->bEnabled);
}

TEST_F(TabPaintMouse, ThemePaintsTheStripInItsBorderColour)
{
    Make(400, 40, 0, 3, 60);
    testsupport::DibCanvas canvas(400, 40, RGB(1, 2, 3));
    CDC* pDC = CDC::FromHandle(canvas.Dc());
    // The base strip's background goes through the theme: no pixel keeps the canvas fill.
    m_tabs.CExtTabWnd::OnTabWndEraseClientArea(*pDC, CRect(0, 0, 400, 40), m_tabs.GetItemsArea(),
                                               m_tabs.GetBorderArea(), 0, false);
    EXPECT_NE(RGB(1, 2, 3), canvas.Pixel(200, 32));
    EXPECT_NE(RGB(1, 2, 3), canvas.Pixel(300, 10));
}

TEST_F(TabPaintMouse, ClickSelectsAndNotifiesTheOwner)
{
    Make(400, 40, 0, 4, 60);
    m_tabs.ItemGet(3)->ModifyItemStyle(0, 0x20);
    m_tabs.m_pRec = &m_rec;
    // Item 1 spans 60..120 of the items area, which starts at 4.
    Click(WM_LBUTTONDOWN, 4 + 70, 10);
    EXPECT_EQ(1, m_tabs.SelectionGet());
    EXPECT_EQ(1, m_tabs.GetPushedTrackingIndex());
    EXPECT_EQ(m_tabs.GetSafeHwnd(), ::GetCapture());
    Click(WM_LBUTTONUP, 4 + 70, 10);
    EXPECT_EQ(-1, m_tabs.GetPushedTrackingIndex());
    EXPECT_NE(m_tabs.GetSafeHwnd(), ::GetCapture());

    m_tabs.m_nVetoSelection = 2;
    Click(WM_LBUTTONDOWN, 4 + 130, 10);
    Click(WM_LBUTTONUP, 4 + 130, 10);
    EXPECT_EQ(1, m_tabs.SelectionGet()) << "the owner refused";
    Click(WM_LBUTTONDOWN, 4 + 190, 10);
    Click(WM_LBUTTONUP, 4 + 190, 10);
    EXPECT_EQ(1, m_tabs.SelectionGet()) << "a disabled item is not selected";

    EXPECT_TRUE(m_rec.Matches({
        {kNoteSelPre, kSent | kWParam | kLParam, (WPARAM)-1, 1},
        {kNoteSelPost, kSent | kWParam | kLParam, (WPARAM)-1, 1},
        {kNoteSelPre, kSent | kWParam | kLParam, 1, 2},
        {kNoteSelPre, kSent | kWParam | kLParam, 1, 3},
    }));
    EXPECT_FALSE(m_tabs.OnTabWndClickedItem(0, false, 2, 0)) << "right-button release goes to the default";
    EXPECT_TRUE(m_tabs.OnTabWndClickedItem(0, false, 1, 0));
}

TEST_F(TabPaintMouse, DisabledButtonIsNotPressed)
{
    Make(400, 40, 0, 10, 100);
    ASSERT_EQ(0u, m_tabs.GetTabWndStyle() & 0x0400u) << "at the start the back button is disabled";
    const CRect rcBack = m_tabs.GetButtonRect(CExtTabWnd::__BTN_UP);
    Click(WM_LBUTTONDOWN, rcBack.left + 2, rcBack.top + 2);
    EXPECT_EQ(0, m_tabs.GetTabWndState() & CExtTabWnd::__ETWST_PRESSED_UP);
    Click(WM_LBUTTONUP, rcBack.left + 2, rcBack.top + 2);
    EXPECT_EQ(0, m_tabs.GetScrollPos());
}

TEST_F(TabPaintMouse, PageModeScrollsOneItemsAreaTenPixelsATick)
{
    Make(400, 40, 0x00010000, 10, 100);
    const CRect rcFwd = m_tabs.GetButtonRect(CExtTabWnd::__BTN_DOWN);
    Click(WM_LBUTTONDOWN, rcFwd.left + 2, rcFwd.top + 2);
    EXPECT_NE(0, m_tabs.GetTabWndState() & CExtTabWnd::__ETWST_PRESSED_DOWN);
    Click(WM_LBUTTONUP, rcFwd.left + 2, rcFwd.top + 2);
    EXPECT_EQ(0, m_tabs.GetTabWndState() & CExtTabWnd::__ETWST_PRESSED_DOWN);
    // The page scroll goes on after the release; drive its timer by hand.
    int nTicks = 0;
    while (m_tabs._IsScrolling() && nTicks < 100)
    {
        m_tabs.SendMessage(WM_TIMER, CExtTabWnd::ID_TIMER_SMOOTH_SCROLL, 0);
        nTicks++;
        if (nTicks == 1)
        {
            EXPECT_EQ(10, m_tabs.GetScrollPos());
        }
    }
    EXPECT_EQ(36, nTicks);
    EXPECT_EQ(360, m_tabs.GetScrollPos()) << "one items-area length";
}

TEST_F(TabPaintMouse, MovingAnItemKeepsItsDataAndSelectsIt)
{
    Make(400, 40, 0, 4, 60);
    m_tabs.ItemGet(0)->LParamSet(ItemSize(61, 20));
    m_tabs.SelectionSet(0);
    m_tabs.m_pRec = &m_rec;
    ASSERT_TRUE(m_tabs.ItemMove(0, 2));
    EXPECT_EQ(4, m_tabs.ItemGetCount());
    EXPECT_EQ(ItemSize(61, 20), m_tabs.ItemGet(2)->LParamGet());
    EXPECT_EQ(2, m_tabs.SelectionGet());
    EXPECT_TRUE(m_tabs.ItemGet(2)->SelectedGet());
    EXPECT_EQ(1, (int)(m_tabs.ItemFindByStyle(0x04) == 2)) << "one selected item";
    EXPECT_EQ(-1, m_tabs.ItemFindByStyle(0x04, 0, 2));
    EXPECT_EQ(1, m_rec.Count(kNoteMoved));
    ASSERT_TRUE(m_tabs.ItemMove(2, 0));
    EXPECT_EQ(ItemSize(61, 20), m_tabs.ItemGet(0)->LParamGet());
    EXPECT_EQ(0, m_tabs.SelectionGet());
    EXPECT_FALSE(m_tabs.ItemMove(1, 1));
    EXPECT_FALSE(m_tabs.ItemMove(0, 4));
    for (int i = 0; i < 4; i++)
        EXPECT_EQ(m_tabs.ItemGet(i), i > 0 ? m_tabs.ItemGet(i - 1)->GetNext() : m_tabs.ItemGet(0)) << "link " << i;
}

TEST_F(TabPaintMouse, DelayedSelectionNeedsTheCursorOverTheItem)
{
    Make(400, 40, 0, 3, 60);
    m_tabs.ItemGet(2)->ModifyItemStyle(0, 0x01);
    EXPECT_FALSE(m_tabs.SelectionDelay(5, 200)) << "out of range";
    EXPECT_FALSE(m_tabs.SelectionDelay(2, 200)) << "hidden item";
    EXPECT_TRUE(m_tabs.SelectionDelay(-1, 0));
    EXPECT_TRUE(m_tabs.SelectionDelay(1, 200));
    EXPECT_EQ(1, m_tabs.SelectionDelayGet());
    m_tabs.SendMessage(WM_TIMER, CExtTabWnd::ID_TIMER_DELAYED_SELECTION, 0);
    EXPECT_EQ(-1, m_tabs.SelectionGet()) << "the cursor left the item";
    EXPECT_EQ(-1, m_tabs.SelectionDelayGet());

    CPoint pt(4 + 70, 10);
    m_tabs.ClientToScreen(&pt);
    ::SetCursorPos(pt.x, pt.y);
    EXPECT_TRUE(m_tabs.SelectionDelay(1, 200));
    m_tabs.SendMessage(WM_TIMER, CExtTabWnd::ID_TIMER_DELAYED_SELECTION, 0);
    EXPECT_EQ(1, m_tabs.SelectionGet());
}

TEST_F(TabPaintMouse, ButtonTooltipTexts)
{
    EXPECT_EQ(CString(_T("Previous")), CExtTabWnd::GetButtonTooltipText(-4));
    EXPECT_EQ(CString(_T("Next")), CExtTabWnd::GetButtonTooltipText(-5));
    EXPECT_EQ(CString(_T("Help")), CExtTabWnd::GetButtonTooltipText(-6));
    EXPECT_EQ(CString(_T("Home")), CExtTabWnd::GetButtonTooltipText(-9));
    EXPECT_EQ(CString(_T("End")), CExtTabWnd::GetButtonTooltipText(-10));
    EXPECT_TRUE(CExtTabWnd::GetButtonTooltipText(-7).IsEmpty());
    EXPECT_TRUE(CExtTabWnd::GetButtonTooltipText(3).IsEmpty());
}

TEST_F(TabPaintMouse, DragOntoAWiderNeighbourSwapsOnce)
{
    Make(400, 40, 0x00400000, 3, 60);
    m_tabs.ItemGet(1)->LParamSet(ItemSize(120, 20));
    m_tabs.UpdateTabWnd(false);
    m_tabs.RecalcLayout();
    ASSERT_TRUE(m_tabs.OnTabWndCanDragItem(0));
    // The cursor stays inside the strip, so the loop does not scroll.
    CPoint ptScreen(4 + 100, 10);
    m_tabs.ClientToScreen(&ptScreen);
    ::SetCursorPos(ptScreen.x, ptScreen.y);
    testsupport::PumpPending();
    const HWND hWnd = m_tabs.GetSafeHwnd();
    // Onto the wide item (64..184 in the client), then further inside it: one swap only.
    ::PostMessage(hWnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(4 + 100, 10));
    ::PostMessage(hWnd, WM_TIMER, 0x7777, 0);  // something else between the moves
    ::PostMessage(hWnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(4 + 110, 10));
    ::PostMessage(hWnd, WM_LBUTTONUP, 0, MAKELPARAM(4 + 110, 10));
    m_tabs.ItemDragLoop(0);
    EXPECT_EQ(ItemSize(120, 20), m_tabs.ItemGet(0)->LParamGet()) << "the wide item moved to the front";
    EXPECT_EQ(ItemSize(60, 20), m_tabs.ItemGet(1)->LParamGet()) << "and was not swapped back";
    EXPECT_EQ(1, m_tabs.SelectionGet()) << "the dragged item is selected at its place";
    EXPECT_EQ(-1, m_tabs.GetPushedTrackingIndex());
    EXPECT_NE(hWnd, ::GetCapture());
    EXPECT_EQ(0, m_tabs.m_nDragFlags & 0x01);
    // The release that ended the loop is still queued for the strip.
    MSG msg;
    EXPECT_TRUE(::PeekMessage(&msg, hWnd, WM_LBUTTONUP, WM_LBUTTONUP, PM_REMOVE));
}

TEST_F(TabPaintMouse, DragStartsOnlyBeyondFivePixels)
{
    Make(400, 40, 0x00400000, 3, 60);
    CPoint ptScreen(4 + 10, 10);
    m_tabs.ClientToScreen(&ptScreen);
    ::SetCursorPos(ptScreen.x, ptScreen.y);
    Click(WM_LBUTTONDOWN, 4 + 10, 10);
    ASSERT_EQ(0, m_tabs.GetPushedTrackingIndex());
    m_tabs.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(4 + 15, 14));
    EXPECT_EQ(0, m_tabs.m_nDragFlags & 0x01);
    EXPECT_EQ(0, m_tabs.GetPushedTrackingIndex()) << "5 pixels are not a drag";
    // Beyond 5 pixels the loop runs; a queued release ends it at once.
    ::PostMessage(m_tabs.GetSafeHwnd(), WM_LBUTTONUP, 0, MAKELPARAM(4 + 16, 10));
    m_tabs.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(4 + 16, 10));
    EXPECT_EQ(-1, m_tabs.GetPushedTrackingIndex()) << "the drag loop ended the tracking";
}

TEST_F(TabPaintMouse, ShortenedItemShowsItsTextAsTip)
{
    Make(306, 40, 0x04, 5, 100);
    m_tabs.ItemGet(2)->TextSet(_T("Third page"));
    m_tabs.ItemGet(3)->TooltipTextSet(_T("Own tip"));
    m_tabs.UpdateTabWnd(false);
    m_tabs.RecalcLayout();
    ASSERT_TRUE(m_tabs.ItemGet(2)->IsShortened());
    ::SetActiveWindow(m_host.m_hWnd);
    if (::GetActiveWindow() != m_host.m_hWnd)
        GTEST_SKIP() << "the host window cannot be activated here";
    CExtPopupMenuTipWnd* pTip = g_PopupTrackingSite.GetTip();
    ASSERT_TRUE(pTip != NULL);
    m_tabs.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(4 + 130, 10));
    EXPECT_EQ(2, m_tabs.GetHoverTrackingIndex());
    EXPECT_EQ(CString(_T("Third page")), pTip->GetText()) << "a shortened item's text becomes its tip";
    m_tabs.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(4 + 190, 10));
    EXPECT_EQ(CString(_T("Own tip")), pTip->GetText()) << "an own tooltip text wins";
    m_tabs.SendMessage(WM_CANCELMODE);
    EXPECT_EQ(-1, m_tabs.GetHoverTrackingIndex());
    pTip->Hide();
}
