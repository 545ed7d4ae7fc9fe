// The colour button: its swatch in every theme, the colour menu it opens and the
// notifications its parent receives, the split form, and a menu opened on a bar.
#include <gtest/gtest.h>
#include "toolkit/dialogs/color_button.h"
#include "toolkit/menus/popup_color_menu_wnd.h"
#include "support/dib_canvas.h"
#include "support/msg_recorder.h"
#include "support/message_pump.h"

using namespace testsupport;

namespace {

typedef CExtPopupColorMenuWnd CM;
MsgRecorder* g_pRec = nullptr;

LRESULT CALLBACK ParentProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (g_pRec != nullptr && (msg == CM::g_nMsgNotifyColorChanged || msg == CM::g_nMsgNotifyColorChangedFinally))
        g_pRec->Record(msg, wParam, lParam, hWnd, "parent");
    return ::DefWindowProc(hWnd, msg, wParam, lParam);
}

// A bar with nothing of its own, to carry the button.
class CPlainBar : public CControlBar
{
public:
    void OnUpdateCmdUI(CFrameWnd*, BOOL) override {}
};

bool g_bBarMenuFlag = false;
COLORREF g_clrSeenHover = COLORREF(-1L);
CExtColorButton* g_pBtn = nullptr;

// Runs inside the button's synchronous menu: one step right from the current colour,
// then Enter. On a bar the bars would hold their button-menu flag meanwhile.
void CALLBACK DriveMenu(HWND, UINT, UINT_PTR nId, DWORD)
{
    CM* pMenu = DYNAMIC_DOWNCAST(CM, CExtPopupMenuWnd::GetTrackingMenu());
    if (pMenu == nullptr || pMenu->GetSafeHwnd() == NULL)
        return;
    ::KillTimer(NULL, nId);
    g_bBarMenuFlag = true;
    bool bNoEat = false;
    pMenu->OnKeyDown(VK_RIGHT, 1, 0, bNoEat);
    PumpPending();
    g_clrSeenHover = g_pBtn->m_clrHover;
    pMenu->OnKeyDown(VK_RETURN, 1, 0, bNoEat);
}

class ColorButtonTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = ParentProc;
        wc.hInstance = ::GetModuleHandle(NULL);
        wc.lpszClassName = "ColorButtonTestParent";
        ::RegisterClassA(&wc);
        m_hParent = ::CreateWindowExA(WS_EX_TOPMOST, "ColorButtonTestParent", "", WS_POPUP | WS_VISIBLE, 100, 100,
                                      300, 200, NULL, NULL, ::GetModuleHandle(NULL), NULL);
        ::SetForegroundWindow(m_hParent);
        g_pRec = &m_rec;
        g_pBtn = &m_btn;
        m_savedServices = g_PopupBarServices;
        g_PopupBarServices.pfnIsButtonMenuTracking = [] { return g_bBarMenuFlag; };
        g_PopupBarServices.pfnCancelAllButtonMenuTracking = [] { g_bBarMenuFlag = false; };
        g_bBarMenuFlag = false;
        g_clrSeenHover = COLORREF(-1L);
    }
    void TearDown() override
    {
        CExtPopupMenuWnd::CancelMenuTracking();
        PumpPending();
        if (m_btn.m_hWnd != NULL)
            m_btn.DestroyWindow();
        if (m_bar.m_hWnd != NULL)
            m_bar.DestroyWindow();
        ::DestroyWindow(m_hParent);
        g_PopupBarServices = m_savedServices;
        g_pRec = nullptr;
        g_CurrentPaintManager.InstallPaintManagerByClass(RUNTIME_CLASS(CExtPaintManagerXP));
    }
    void Take(HWND hWndParent, const char* sText)
    {
        HWND h = ::CreateWindowA("BUTTON", sText, WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 10, 10, 90, 26, hWndParent,
                                 (HMENU)(UINT_PTR)1038, ::GetModuleHandle(NULL), NULL);
        ASSERT_TRUE(m_btn.SubclassWindow(h));
        PumpPending();
    }

    HWND m_hParent = NULL;
    MsgRecorder m_rec;
    CExtColorButton m_btn;
    CPlainBar m_bar;
    CExtPopupBarServices m_savedServices = {};
};

}  // namespace

TEST_F(ColorButtonTest, TheSwatchShowsTheCurrentOrPreviewedColourInEveryTheme)
{
    Take(m_hParent, "Color &1");
    CRuntimeClass* const kThemes[] = {RUNTIME_CLASS(CExtPaintManager), RUNTIME_CLASS(CExtPaintManagerXP),
                                      RUNTIME_CLASS(CExtPaintManagerOffice2003),
                                      RUNTIME_CLASS(CExtPaintManagerStudio2005)};
    const COLORREF kCurrent = RGB(10, 200, 30), kHover = RGB(200, 10, 30);
    struct Case
    {
        COLORREF clrHover;
        BYTE bPreview;
        COLORREF clrShown;
    } const kCases[] = {{COLORREF(-1L), 1, kCurrent}, {kHover, 1, kHover}, {kHover, 0, kCurrent}};
    for (CRuntimeClass* pTheme : kThemes)
    {
        g_CurrentPaintManager.InstallPaintManagerByClass(pTheme);
        for (const Case& c : kCases)
        {
            SCOPED_TRACE(testing::Message() << pTheme->m_lpszClassName << " hover " << c.clrHover << " preview "
                                            << (int)c.bPreview);
            m_btn.m_clrCurrent = kCurrent;
            m_btn.m_clrHover = c.clrHover;
            m_btn.m_bPreviewOnHover = c.bPreview;
            DibCanvas canvas(90, 26, RGB(255, 0, 255));
            CDC dc;
            dc.Attach(canvas.Dc());
            m_btn.RenderButton(dc, false, false);
            dc.Detach();
            const CRect rcAll(0, 0, 90, 26);
            EXPECT_EQ(256, canvas.Count(c.clrShown, rcAll)) << "one 16 x 16 swatch";
            EXPECT_EQ(0, canvas.Count(c.clrShown == kCurrent ? kHover : kCurrent, rcAll));
            EXPECT_EQ(0, canvas.Count(RGB(255, 0, 255), rcAll)) << "every pixel painted";
        }
    }
}

TEST_F(ColorButtonTest, ChosenColoursReachTheParent)
{
    Take(m_hParent, "Color &1");
    m_btn.m_lParamCookie = 5;
    // The menu previews the neighbour of the current colour, then Enter chooses it.
    m_btn.m_clrCurrent = RGB(255, 0, 0);
    ::SetTimer(NULL, 0, 10, DriveMenu);
    EXPECT_TRUE(m_btn.OnTrackPopup(false));
    EXPECT_FALSE(CExtPopupMenuWnd::IsMenuTracking());
    PumpPending();
    EXPECT_EQ(RGB(255, 173, 91), g_clrSeenHover) << "previewed while the menu was open";
    EXPECT_EQ(COLORREF(-1L), m_btn.m_clrHover);
    EXPECT_EQ(RGB(255, 173, 91), m_btn.m_clrCurrent);

    // The default entry of a button without a default colour stores black.
    ::SendMessage(m_btn.m_hWnd, CM::g_nMsgNotifyColorChangedFinally, (WPARAM)COLORREF(-1L), 9);
    EXPECT_EQ(RGB(0, 0, 0), m_btn.m_clrCurrent);
    // The main part of a split button re-sends the current colour.
    m_btn.m_nState |= CExtButton::STATE_SPLIT;
    m_btn.m_clrCurrent = RGB(1, 2, 3);
    m_btn.OnButtonClick(false, false);
    EXPECT_FALSE(CExtPopupMenuWnd::IsMenuTracking());
    EXPECT_TRUE(m_rec.Matches({
        {CM::g_nMsgNotifyColorChanged, kWParam | kLParam, RGB(255, 173, 91), 5},
        {CM::g_nMsgNotifyColorChangedFinally, kWParam | kLParam, RGB(255, 173, 91), 5},
        {CM::g_nMsgNotifyColorChangedFinally, kWParam | kLParam, (WPARAM)COLORREF(-1L), 9},
        {CM::g_nMsgNotifyColorChangedFinally, kWParam | kLParam, RGB(1, 2, 3), 5},
    }));
}

TEST_F(ColorButtonTest, AMenuOpenedOnABarLeavesNoButtonMenuTracking)
{
    m_bar.CWnd::Create(AfxRegisterWndClass(0), NULL, WS_CHILD | WS_VISIBLE, CRect(0, 0, 200, 40),
                       CWnd::FromHandle(m_hParent), 0xE800);
    Take(m_bar.m_hWnd, "");
    m_btn.m_clrCurrent = RGB(0, 0, 0);
    ::SetTimer(NULL, 0, 10, DriveMenu);
    EXPECT_TRUE(m_btn.OnTrackPopup(false));
    PumpPending();
    EXPECT_FALSE(g_bBarMenuFlag);
    // On a bar the menu talks to the frame, not to the button.
    EXPECT_EQ(RGB(0, 0, 0), m_btn.m_clrCurrent);
    EXPECT_EQ(2u, m_rec.Records().size());
}
