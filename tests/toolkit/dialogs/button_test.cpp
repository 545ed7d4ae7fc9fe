// The themed push button: taking over a control, press/hover tracking driven through
// its handlers, clicks reaching the parent, keyboard, state icons, drop-down menus and
// painting into a DIB.
#include <gtest/gtest.h>
#include "toolkit/dialogs/button.h"
#include "toolkit/menus/popup_menu_wnd.h"
#include "toolkit/theme/pm_push_button.h"
#include "support/dib_canvas.h"
#include "support/msg_recorder.h"
#include "support/message_pump.h"
#include "support/mouse_input.h"

using namespace testsupport;

namespace {

MsgRecorder* g_pParentRec = nullptr;

LRESULT CALLBACK ParentProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_COMMAND && g_pParentRec != nullptr)
        g_pParentRec->Record(msg, wParam, lParam, hWnd, "parent");
    return ::DefWindowProc(hWnd, msg, wParam, lParam);
}

const char* ParentClass()
{
    static bool s_bDone = false;
    if (!s_bDone)
    {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = ParentProc;
        wc.hInstance = ::GetModuleHandle(NULL);
        wc.hCursor = ::LoadCursor(NULL, IDC_ARROW);
        wc.lpszClassName = "ExtButtonTestParent";
        ::RegisterClassA(&wc);
        s_bDone = true;
    }
    return "ExtButtonTestParent";
}

HICON MakeIcon(COLORREF clr)
{
    HDC hdcScreen = ::GetDC(NULL);
    HBITMAP hColor = ::CreateCompatibleBitmap(hdcScreen, 16, 16);
    HBITMAP hMask = ::CreateBitmap(16, 16, 1, 1, NULL);
    HDC hdc = ::CreateCompatibleDC(hdcScreen);
    HGDIOBJ hOld = ::SelectObject(hdc, hColor);
    HBRUSH hbr = ::CreateSolidBrush(clr);
    RECT rc = {0, 0, 16, 16};
    ::FillRect(hdc, &rc, hbr);
    ::SelectObject(hdc, hMask);
    ::PatBlt(hdc, 0, 0, 16, 16, BLACKNESS);
    ::SelectObject(hdc, hOld);
    ::DeleteObject(hbr);
    ::DeleteDC(hdc);
    ::ReleaseDC(NULL, hdcScreen);
    ICONINFO ii = {TRUE, 0, 0, hMask, hColor};
    HICON hIcon = ::CreateIconIndirect(&ii);
    ::DeleteObject(hColor);
    ::DeleteObject(hMask);
    return hIcon;
}

bool IconAlive(HICON hIcon)
{
    ICONINFO ii = {};
    if (!::GetIconInfo(hIcon, &ii))
        return false;
    if (ii.hbmColor)
        ::DeleteObject(ii.hbmColor);
    if (ii.hbmMask)
        ::DeleteObject(ii.hbmMask);
    return true;
}

class ExtButtonTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        CExtPopupBaseWnd::g_nDefaultAnimation = 0;
        g_pParentRec = &m_rec;
        m_hParent = ::CreateWindowExA(WS_EX_TOPMOST, ParentClass(), "parent", WS_POPUP | WS_VISIBLE, 100, 100, 300,
                                      200, NULL, NULL, ::GetModuleHandle(NULL), NULL);
        ASSERT_TRUE(m_hParent != NULL);
        ::SetActiveWindow(m_hParent);
        ::SetForegroundWindow(m_hParent);
    }
    void TearDown() override
    {
        if (CExtPopupMenuWnd::IsMenuTracking())
            CExtPopupMenuWnd::CancelMenuTracking();
        PumpPending();
        if (m_btn.m_hWnd != NULL)
            m_btn.DestroyWindow();
        ::DestroyWindow(m_hParent);
        PumpPending();
        g_pParentRec = nullptr;
    }
    // A standard button of the given style, then taken over as a dialog control would be.
    void Take(DWORD dwStyle, const char* text = "OK")
    {
        HWND h = ::CreateWindowA("BUTTON", text, WS_CHILD | WS_VISIBLE | dwStyle, 10, 10, 100, 30, m_hParent,
                                 (HMENU)(UINT_PTR)kId, ::GetModuleHandle(NULL), NULL);
        ASSERT_TRUE(h != NULL);
        ASSERT_TRUE(m_btn.SubclassWindow(h));
        PumpPending();
    }
    void CursorAt(int xClient, int yClient)
    {
        POINT pt = {xClient, yClient};
        ::ClientToScreen(m_btn.m_hWnd, &pt);
        ::SetCursorPos(pt.x, pt.y);
    }
    size_t Clicks() const
    {
        size_t n = 0;
        for (const MsgRecord& r : m_rec.Records())
            if (r.message == WM_COMMAND && LOWORD(r.wParam) == kId && HIWORD(r.wParam) == BN_CLICKED &&
                (HWND)r.lParam == m_btn.m_hWnd)
                ++n;
        return n;
    }
    // Like a menu resource: the drop-down is the first popup of the menu.
    void FillMenu()
    {
        ASSERT_TRUE(m_btn.m_menu.CreateMenu());
        HMENU hPopup = ::CreatePopupMenu();
        ::AppendMenuA(hPopup, MF_STRING, 501, "First");
        ::AppendMenuA(hPopup, MF_STRING, 502, "Second");
        ::AppendMenuA(m_btn.m_menu.m_hMenu, MF_POPUP, (UINT_PTR)hPopup, "Menu");
    }
    BOOL Key(UINT msg, WPARAM vk)
    {
        MSG m = {m_btn.m_hWnd, msg, vk, 0, 0, {0, 0}};
        return m_btn.PreTranslateMessage(&m);
    }

    static const int kId = 1234;
    MsgRecorder m_rec;
    HWND m_hParent = NULL;
    CExtButton m_btn;
};

}  // namespace

TEST_F(ExtButtonTest, DefaultsBeforeAWindowExists)
{
    EXPECT_EQ(4, m_btn.m_nMenuAlign);
    EXPECT_EQ(4, m_btn.m_nTipStyle);
    EXPECT_EQ(0x03, m_btn.m_nKeyFlags);
    EXPECT_EQ(9u, m_btn.m_nContentAlign);
    EXPECT_EQ(0x03, m_btn.m_nState);
    EXPECT_EQ(COLORREF(-1L), m_btn.m_clrBackground);
    EXPECT_FALSE(m_btn.HasMenu());
    EXPECT_TRUE(m_btn.IsKindOf(RUNTIME_CLASS(CButton)));
    CObject* p = RUNTIME_CLASS(CExtButton)->CreateObject();
    ASSERT_TRUE(p != NULL);
    delete p;
}

TEST_F(ExtButtonTest, TakeOverReadsTypeAlignmentAndCheck)
{
    Take(BS_AUTOCHECKBOX | BS_LEFT | BS_BOTTOM);
    EXPECT_EQ(BS_AUTOCHECKBOX, m_btn.m_nButtonType);
    EXPECT_EQ(0u | 16u, m_btn.m_nContentAlign);
    EXPECT_EQ((DWORD)BS_OWNERDRAW, (DWORD)::GetWindowLong(m_btn.m_hWnd, GWL_STYLE) & 0x0F);
    // the check state lives in the button, never in the standard control
    ::SendMessage(m_btn.m_hWnd, BM_SETCHECK, 1, 0);
    EXPECT_EQ(1, m_btn.m_nCheck);
    EXPECT_EQ(1, (int)::SendMessage(m_btn.m_hWnd, BM_GETCHECK, 0, 0));
    ::SendMessage(m_btn.m_hWnd, BM_SETSTYLE, BS_RADIOBUTTON, TRUE);
    EXPECT_EQ(BS_RADIOBUTTON, m_btn.m_nButtonType);
    EXPECT_EQ((DWORD)BS_OWNERDRAW, (DWORD)::GetWindowLong(m_btn.m_hWnd, GWL_STYLE) & 0x0F);
}

TEST_F(ExtButtonTest, CenteredStylesGiveCentreAlignment)
{
    Take(BS_PUSHBUTTON | BS_CENTER | BS_VCENTER);
    EXPECT_EQ(1u | 8u, m_btn.m_nContentAlign);
    EXPECT_EQ(BS_PUSHBUTTON, m_btn.m_nButtonType);
}

TEST_F(ExtButtonTest, PressAndReleaseOverTheButtonSendsOneClick)
{
    Take(BS_PUSHBUTTON);
    CursorAt(20, 10);
    ::SendMessage(m_btn.m_hWnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 10));
    EXPECT_EQ(0x1C, m_btn.m_nState & 0x1C);
    EXPECT_EQ(1, m_btn.m_nPressedPart);
    EXPECT_EQ(m_btn.m_hWnd, ::GetCapture());
    EXPECT_EQ(m_btn.m_hWnd, ::GetFocus());
    ::SendMessage(m_btn.m_hWnd, WM_LBUTTONUP, 0, MAKELPARAM(20, 10));
    EXPECT_EQ(0, m_btn.m_nState & 0x1C);
    EXPECT_EQ(0, m_btn.m_nPressedPart);
    EXPECT_EQ(1u, Clicks());
}

TEST_F(ExtButtonTest, LeavingWhilePressedShowsUnpressedKeepsCaptureAndSendsNothing)
{
    Take(BS_PUSHBUTTON);
    CursorAt(20, 10);
    ::SendMessage(m_btn.m_hWnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 10));
    CursorAt(250, 150);  // over the parent
    ::SendMessage(m_btn.m_hWnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(240, 140));
    EXPECT_EQ(0, m_btn.m_nState & 0x0C);
    EXPECT_EQ(0x10, m_btn.m_nState & 0x10);
    EXPECT_EQ(m_btn.m_hWnd, ::GetCapture());
    CursorAt(20, 10);
    ::SendMessage(m_btn.m_hWnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(20, 10));
    EXPECT_EQ(0x0C, m_btn.m_nState & 0x0C);
    CursorAt(250, 150);
    ::SendMessage(m_btn.m_hWnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(240, 140));
    ::SendMessage(m_btn.m_hWnd, WM_LBUTTONUP, 0, MAKELPARAM(240, 140));
    EXPECT_EQ(0u, Clicks());
    EXPECT_NE(m_btn.m_hWnd, ::GetCapture());
}

TEST_F(ExtButtonTest, HoverWithoutButtonAndCancelMode)
{
    Take(BS_PUSHBUTTON);
    CursorAt(20, 10);
    ::SendMessage(m_btn.m_hWnd, WM_MOUSEMOVE, 0, MAKELPARAM(20, 10));
    EXPECT_EQ(0x04, m_btn.m_nState & 0x1C);
    ::SendMessage(m_btn.m_hWnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 10));
    ::SendMessage(m_btn.m_hWnd, WM_CANCELMODE, 0, 0);
    EXPECT_EQ(0x03, m_btn.m_nState);
    ::SendMessage(m_btn.m_hWnd, WM_LBUTTONUP, 0, MAKELPARAM(20, 10));
    EXPECT_EQ(0u, Clicks());
}

TEST_F(ExtButtonTest, SpaceAndEnterClick)
{
    Take(BS_PUSHBUTTON);
    EXPECT_TRUE(Key(WM_KEYDOWN, VK_SPACE));
    EXPECT_EQ(0x38, m_btn.m_nState & 0x38);
    // the mouse is ignored while the key holds the press
    ::SendMessage(m_btn.m_hWnd, WM_LBUTTONUP, 0, 0);
    EXPECT_EQ(0x38, m_btn.m_nState & 0x38);
    EXPECT_TRUE(Key(WM_KEYDOWN, VK_RETURN));
    EXPECT_EQ(1u, Clicks());
    EXPECT_TRUE(Key(WM_KEYUP, VK_RETURN));
    EXPECT_EQ(1u, Clicks());
    EXPECT_TRUE(Key(WM_KEYUP, VK_SPACE));
    EXPECT_EQ(2u, Clicks());
    EXPECT_EQ(0, m_btn.m_nState & 0x3C);
}

TEST_F(ExtButtonTest, MnemonicClicksAndTheKeyIsStillDispatched)
{
    Take(BS_PUSHBUTTON, "&Save");
    EXPECT_TRUE(m_btn.MatchesMnemonic('S'));
    EXPECT_FALSE(m_btn.MatchesMnemonic('A'));
    EXPECT_FALSE(Key(WM_KEYUP, 'S'));
    EXPECT_EQ(1u, Clicks());
    m_btn.m_nKeyFlags = 0x02;
    EXPECT_FALSE(m_btn.MatchesMnemonic('S'));
    m_btn.SetWindowText("Save&");
    m_btn.m_nKeyFlags = 0x03;
    EXPECT_FALSE(m_btn.MatchesMnemonic('S'));
}

TEST_F(ExtButtonTest, CheckTypeClickInvertsCheckAndNotifies)
{
    Take(BS_AUTOCHECKBOX);
    m_btn.OnButtonClick(false, false);
    EXPECT_EQ(1, m_btn.m_nCheck);
    m_btn.OnButtonClick(false, false);
    EXPECT_EQ(0, m_btn.m_nCheck);
    EXPECT_EQ(2u, Clicks());
}

TEST_F(ExtButtonTest, GroupBoxTypeDoesNothingOnClick)
{
    Take(BS_PUSHBUTTON);
    ::SendMessage(m_btn.m_hWnd, BM_SETSTYLE, BS_GROUPBOX, TRUE);
    m_btn.OnButtonClick(false, false);
    EXPECT_EQ(0u, Clicks());
}

TEST_F(ExtButtonTest, SplitPartsAndHitTesting)
{
    Take(BS_PUSHBUTTON);
    CRect rcMain, rcDrop;
    m_btn.GetPartRects(rcMain, rcDrop);
    EXPECT_EQ(CRect(0, 0, 100, 30), rcMain);
    EXPECT_TRUE(rcDrop.IsRectEmpty());
    m_btn.m_nState |= 0x40;
    m_btn.GetPartRects(rcMain, rcDrop);
    EXPECT_EQ(CRect(0, 0, 89, 30), rcMain);
    EXPECT_EQ(CRect(89, 0, 100, 30), rcDrop);
    EXPECT_EQ(1, m_btn.HitTestPart(CPoint(88, 5)));
    EXPECT_EQ(2, m_btn.HitTestPart(CPoint(89, 5)));
    EXPECT_EQ(0, m_btn.HitTestPart(CPoint(100, 5)));
}

TEST_F(ExtButtonTest, SplitButtonMenuOpensFromTheArrowPartOnly)
{
    Take(BS_PUSHBUTTON);
    m_btn.m_nState |= 0x40;
    FillMenu();
    // main part pressed, released over the arrow: the parts differ, nothing
    ::SendMessage(m_btn.m_hWnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 10));
    ::SendMessage(m_btn.m_hWnd, WM_LBUTTONUP, 0, MAKELPARAM(95, 10));
    EXPECT_EQ(0u, Clicks());
    EXPECT_FALSE(CExtPopupMenuWnd::IsMenuTracking());
    // main part: a plain click
    ::SendMessage(m_btn.m_hWnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 10));
    ::SendMessage(m_btn.m_hWnd, WM_LBUTTONUP, 0, MAKELPARAM(20, 10));
    EXPECT_EQ(1u, Clicks());
    EXPECT_FALSE(CExtPopupMenuWnd::IsMenuTracking());
    // arrow part: the menu, no command
    ::SendMessage(m_btn.m_hWnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(95, 10));
    EXPECT_EQ(2, m_btn.m_nPressedPart);
    ::SendMessage(m_btn.m_hWnd, WM_LBUTTONUP, 0, MAKELPARAM(95, 10));
    PumpPending();
    EXPECT_TRUE(CExtPopupMenuWnd::IsMenuTracking());
    EXPECT_EQ(1u, Clicks());
}

// A press and a release are judged where the hand made them, whatever the pointer does
// before the button's thread takes them (the thread is held: it takes nothing until
// the hand is done). Made on the button (or the part pressed) with the pointer moved
// away, the release clicks; made beside it with the pointer moved back, it does not.
TEST_F(ExtButtonTest, PressAndReleaseAreJudgedWhereTheHandMadeThem)
{
    // Left of and above the button (on its parent): under the button's capture a release
    // there carries a negative point.
    const POINT kMain = {20, 10}, kArrow = {95, 10}, kBeside = {240, 140}, kLeft = {-8, 10}, kAbove = {95, -6};
    const struct
    {
        const char* what;
        DWORD dwStyle;
        bool bSplit;
        bool bPressHeld;  // the press too is made while the thread is held
        POINT press, release, after;
        size_t nClicks;
        bool bMenu;
    } cases[] = {
        {"push: released on it, the pointer moved away", BS_PUSHBUTTON, false, false, kMain, kMain, kBeside, 1, false},
        {"push: pressed and released on it, the pointer moved away", BS_PUSHBUTTON, false, true, kMain, kMain, kBeside,
         1, false},
        {"push: released beside it, the pointer moved onto it", BS_PUSHBUTTON, false, false, kMain, kBeside, kMain, 0,
         false},
        {"check box: released on it, the pointer moved away", BS_AUTOCHECKBOX, false, false, kMain, kMain, kBeside, 1,
         false},
        {"split: released on the arrow, the pointer moved to the main part", BS_PUSHBUTTON, true, true, kArrow, kArrow,
         kMain, 0, true},
        {"push: released left of it, the pointer moved onto it", BS_PUSHBUTTON, false, false, kMain, kLeft, kMain, 0,
         false},
        {"split: pressed on the arrow, released above it, the pointer moved back", BS_PUSHBUTTON, true, false, kArrow,
         kAbove, kArrow, 0, false},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.what);
        Take(c.dwStyle);
        if (c.bSplit)
        {
            m_btn.m_nState |= 0x40;
            FillMenu();
        }
        m_rec.Clear();
        SendMouseOn(MOUSEEVENTF_LEFTDOWN, m_btn.m_hWnd, c.press);
        if (!c.bPressHeld)
            EXPECT_TRUE(PumpUntilIdle([&] { return ::GetCapture() == m_btn.m_hWnd; }));
        SendMouseOn(0, m_btn.m_hWnd, c.release);
        SendMouseOn(MOUSEEVENTF_LEFTUP, m_btn.m_hWnd, c.release);
        SendMouseOn(0, m_btn.m_hWnd, c.after);
        EXPECT_TRUE(PumpUntilIdle());
        EXPECT_EQ(c.nClicks, Clicks());
        EXPECT_EQ(c.bMenu, CExtPopupMenuWnd::IsMenuTracking());
        if (CExtPopupMenuWnd::IsMenuTracking())
            CExtPopupMenuWnd::CancelMenuTracking();
        PumpPending();
        m_btn.DestroyWindow();
        m_btn.m_nState &= ~0x40;
        if (c.bSplit)
            m_btn.m_menu.DestroyMenu();
    }
}

TEST_F(ExtButtonTest, ButtonWithMenuNeverSendsACommand)
{
    Take(BS_PUSHBUTTON);
    FillMenu();
    m_btn.OnButtonClick(false, false);
    PumpPending();
    EXPECT_TRUE(CExtPopupMenuWnd::IsMenuTracking());
    EXPECT_EQ(0u, Clicks());
    CExtButton plain;
    EXPECT_FALSE(plain.OnTrackPopup(false));
}

TEST_F(ExtButtonTest, SetStateIconsFillsImagesAndDestroysTheIcons)
{
    Take(BS_PUSHBUTTON);
    HICON h1 = MakeIcon(RGB(255, 0, 0)), h2 = MakeIcon(RGB(0, 255, 0));
    HICON h3 = MakeIcon(RGB(0, 0, 255)), h4 = MakeIcon(RGB(255, 255, 0));
    m_btn.SetStateIcons(h1, h2, h3, h4);
    EXPECT_FALSE(IconAlive(h1) || IconAlive(h2) || IconAlive(h3) || IconAlive(h4));
    EXPECT_EQ(0x07u, m_btn.m_icon.m_dwFlags & 0x07u);
    EXPECT_EQ(RGB(0, 255, 0), m_btn.m_icon.m_bmpNormal.GetPixelColor(5, 5));
    EXPECT_EQ(RGB(255, 0, 0), m_btn.m_icon.m_bmpHover.GetPixelColor(5, 5));
    EXPECT_EQ(RGB(0, 0, 255), m_btn.m_icon.m_bmpDisabled.GetPixelColor(5, 5));
    EXPECT_EQ(RGB(255, 255, 0), m_btn.m_icon.m_bmpPressed.GetPixelColor(5, 5));
    // only the second: it is the main image, no hover flag
    HICON h5 = MakeIcon(RGB(0, 128, 128));
    m_btn.SetStateIcons(NULL, h5);
    EXPECT_FALSE(IconAlive(h5));
    EXPECT_EQ(0u, m_btn.m_icon.m_dwFlags & 0x07u);
    EXPECT_EQ(RGB(0, 128, 128), m_btn.m_icon.m_bmpNormal.GetPixelColor(5, 5));
    EXPECT_TRUE(m_btn.m_icon.m_bmpHover.IsEmpty());
    m_btn.SetStateIcons(NULL);
    EXPECT_TRUE(m_btn.m_icon.m_bmpNormal.IsEmpty());
}

TEST_F(ExtButtonTest, PaintsTheBackgroundOverrideAndStatesDiffer)
{
    Take(BS_PUSHBUTTON, "");
    m_btn.m_clrBackground = RGB(10, 200, 30);
    DibCanvas canvas(100, 30, RGB(1, 2, 3));
    ::SendMessage(m_btn.m_hWnd, WM_PRINTCLIENT, (WPARAM)canvas.Dc(), PRF_CLIENT);
    EXPECT_EQ(RGB(10, 200, 30), canvas.Pixel(50, 15));
    EXPECT_NE(RGB(1, 2, 3), canvas.Pixel(0, 0));

    m_btn.m_clrBackground = COLORREF(-1L);
    DibCanvas normal(100, 30), pushed(100, 30);
    ::SendMessage(m_btn.m_hWnd, WM_PRINTCLIENT, (WPARAM)normal.Dc(), PRF_CLIENT);
    m_btn.m_nState |= 0x0C;
    ::SendMessage(m_btn.m_hWnd, WM_PRINTCLIENT, (WPARAM)pushed.Dc(), PRF_CLIENT);
    bool bDiffer = false;
    for (int x = 0; x < 100 && !bDiffer; ++x)
        for (int y = 0; y < 30 && !bDiffer; ++y)
            bDiffer = normal.Pixel(x, y) != pushed.Pixel(x, y);
    EXPECT_TRUE(bDiffer);
}

TEST_F(ExtButtonTest, PopupMenuMessagesAreForwardedToTheParent)
{
    Take(BS_PUSHBUTTON);
    m_rec.Clear();
    LRESULT lr = ::SendMessage(m_btn.m_hWnd, CExtPopupMenuWnd::g_nMsgNotifyMenuClosed, 0, 0);
    EXPECT_EQ(0, lr);
    EXPECT_EQ(0, (int)::SendMessage(m_btn.m_hWnd, WM_UPDATEUISTATE, 0, 0));
}

TEST_F(ExtButtonTest, ToolbarMessagesPutIntoMenuAndContinueTracking)
{
    Take(BS_PUSHBUTTON);
    UINT nPut = ::RegisterWindowMessageA("CExtControlBar::g_nMsgPutToPopupMenu");
    UINT nContinue = ::RegisterWindowMessageA("CExtToolControlBar::g_nMsgContinueTrackMenu");
    CExtPopupMenuWnd* pPopup = new CExtPopupMenuWnd;
    ASSERT_TRUE(pPopup->CreatePopupMenu(m_hParent));
    // without a menu the button stays out of the toolbar's chevron menu
    EXPECT_EQ(0, (int)::SendMessage(m_btn.m_hWnd, nPut, (WPARAM)pPopup, 0));
    FillMenu();
    EXPECT_EQ(1, (int)::SendMessage(m_btn.m_hWnd, nPut, (WPARAM)pPopup, 0));
    EXPECT_EQ(1, pPopup->ItemGetCount());
    delete pPopup;
    EXPECT_EQ(1, (int)::SendMessage(m_btn.m_hWnd, nContinue, 0, 1));
    PumpPending();
    EXPECT_TRUE(CExtPopupMenuWnd::IsMenuTracking());
    EXPECT_EQ(0u, Clicks());
}
