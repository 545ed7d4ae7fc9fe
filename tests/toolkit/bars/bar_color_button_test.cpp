// The colour button of a toolbar: its colours, its swatch icon per theme, its colour
// menu, the chosen colour and the button's own click reaching the owner, and the button
// as a chevron-menu item of a bar without a dock site.
#include <gtest/gtest.h>

#include <vector>

#include "framework/framework.h"
#include "support/dib_canvas.h"
#include "support/message_pump.h"
#include "toolkit/bars/bar_color_button.h"
#include "toolkit/core/cmd_item.h"
#include "toolkit/core/cmd_manager.h"
#include "toolkit/menus/popup_color_menu_wnd.h"
#include "toolkit/menus/popup_tracking_site.h"
#include "toolkit/theme/paint_manager.h"

using testsupport::DibCanvas;
using testsupport::PumpPending;

namespace {

const char* const PROFILE = "bar-color-button-test-profile";
const UINT ID_COLOR = 40101;
const COLORREF SWATCH = RGB(1, 200, 3);

struct ColorHost : CWnd
{
    struct Msg
    {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
    };
    std::vector<Msg> m_msgs;
    ColorHost() { CreateEx(0, NULL, "Host", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 300, 200, NULL, NULL); }
    ~ColorHost()
    {
        if (m_hWnd != NULL)
            DestroyWindow();
    }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_COMMAND || message == CExtPopupColorMenuWnd::g_nMsgNotifyColorChangedFinally)
            m_msgs.push_back(Msg{message, wParam, lParam});
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

class BarColorButtonTest : public ::testing::Test
{
protected:
    ColorHost m_host;
    CExtToolControlBar m_bar;

    void SetUp() override
    {
        ASSERT_TRUE(g_CurrentPaintManager.InstallPaintManager(new CExtPaintManagerXP));
        ASSERT_TRUE(g_CommandManager->ProfileSetup(PROFILE, m_host.GetSafeHwnd()));
        ASSERT_TRUE(m_bar.Create("Bar", &m_host, 0xE905, WS_CHILD | WS_VISIBLE | CBRS_TOP));
        CExtCmdItem cmd(ID_COLOR);
        cmd.m_sMenuText = "Fill &Colour";
        ASSERT_TRUE(g_CommandManager->CmdSetup(PROFILE, cmd, true));
        m_host.SetActiveWindow();
    }
    void TearDown() override
    {
        CExtPopupMenuWnd::CancelMenuTracking();
        PumpPending();
        CExtToolControlBar::CancelAllButtonMenuTracking();
        m_bar.DestroyWindow();
        g_CommandManager->ProfileDestroy(PROFILE, true);
    }
};

}  // namespace

TEST_F(BarColorButtonTest, ColoursAreKeptApartAndTheIconFollowsTheButtonColour)
{
    CExtBarColorButton btn(&m_bar, ID_COLOR, 0, RGB(10, 20, 30), RGB(40, 50, 60), 77);
    btn.ColorSet(RGB(1, 2, 3), true);
    EXPECT_EQ(RGB(1, 2, 3), btn.ColorGet(false));
    EXPECT_EQ(RGB(10, 20, 30), btn.ColorGet(true));
    btn.ColorSet(SWATCH, false);
    EXPECT_EQ(SWATCH, btn.ColorGet(true));
    EXPECT_EQ(RGB(1, 2, 3), btn.ColorGet(false));
    EXPECT_TRUE(btn.HasPopup(false));
    EXPECT_FALSE(btn.HasPopup(true));
    btn.SetDefaultColorBtnText(NULL);
    EXPECT_STREQ("", btn.GetDefaultColorBtnText());

    // The icon in the profile is the swatch, exactly, in every theme.
    struct Case
    {
        const char* name;
        CExtPaintManager* pPM;
        int nIconStyle;
        int nSwatchPixels;
    } cases[] = {
        {"XP filled", new CExtPaintManagerXP, 0, 16 * 16},
        {"Office 2003 filled", new CExtPaintManagerOffice2003, 0, 16 * 16},
        {"Studio 2005 filled", new CExtPaintManagerStudio2005, 0, 16 * 16},
        {"Studio 2005 frame", new CExtPaintManagerStudio2005, 1, 14 * 12 - 10 * 8},
    };
    for (const Case& c : cases)
    {
        ASSERT_TRUE(g_CurrentPaintManager.InstallPaintManager(c.pPM)) << c.name;
        btn.m_nIconStyle = c.nIconStyle;
        btn.OnSyncIcon();
        btn.SetRect(CRect(0, 0, 23 + 11, 22));
        DibCanvas canvas(34, 22, RGB(255, 255, 255));
        CDC* pDC = CDC::FromHandle(canvas.Dc());
        btn.Paint(*pDC, true);
        EXPECT_EQ(c.nSwatchPixels, canvas.Count(SWATCH, CRect(0, 0, 34, 22))) << c.name;
    }
}

TEST_F(BarColorButtonTest, TheMenuGetsTheValuesAndTheChoiceReachesTheOwner)
{
    CExtBarColorButton btn(&m_bar, ID_COLOR, 0, SWATCH, RGB(9, 9, 9), 1234, true, false, "Automatic", NULL);
    btn.SetRect(CRect(0, 0, 34, 22));
    btn.OnClick(CPoint(5, 5), true);
    PumpPending();
    CExtPopupColorMenuWnd* pMenu = DYNAMIC_DOWNCAST(CExtPopupColorMenuWnd, g_PopupTrackingSite.GetInstance());
    ASSERT_TRUE(pMenu != NULL) << "a plain colour button opens the colour menu on button down";
    EXPECT_TRUE(btn.IsTracked());
    EXPECT_EQ(SWATCH, pMenu->m_clrInitial);
    EXPECT_EQ(RGB(9, 9, 9), pMenu->m_clrDefault);
    EXPECT_EQ(1234, pMenu->m_lParamCookie);
    EXPECT_EQ(CExtPopupColorMenuWnd::ROW_DEFAULT_COLOR, pMenu->m_nRowFlags);
    EXPECT_STREQ("Automatic", (LPCTSTR)pMenu->m_sBtnTextColorDefault);
    EXPECT_STREQ("Custom Color ...", (LPCTSTR)pMenu->m_sBtnTextColorCustom);

    pMenu->SetHoverIndex(3);
    const COLORREF clrChosen = pMenu->GetColor(3);
    pMenu->NotifyColorChanged(true);
    PumpPending();
    ASSERT_EQ(1u, m_host.m_msgs.size());
    EXPECT_EQ(CExtPopupColorMenuWnd::g_nMsgNotifyColorChangedFinally, m_host.m_msgs[0].message);
    EXPECT_EQ((WPARAM)clrChosen, m_host.m_msgs[0].wParam);
    EXPECT_EQ(1234, m_host.m_msgs[0].lParam);
}

TEST_F(BarColorButtonTest, SplitMainPartReportsTheColourAndADisabledButtonOpensNothing)
{
    CExtBarColorButton btn(&m_bar, ID_COLOR, 0, SWATCH, 0, 55);
    btn.SetRect(CRect(0, 0, 34, 22));
    btn.SetSeparatedDropDown(true);
    btn.OnClick(CPoint(5, 5), true);
    btn.OnClick(CPoint(5, 5), false);
    EXPECT_FALSE(CExtPopupMenuWnd::IsMenuTracking());
    ASSERT_EQ(1u, m_host.m_msgs.size()) << "no WM_COMMAND goes out";
    EXPECT_EQ(CExtPopupColorMenuWnd::g_nMsgNotifyColorChangedFinally, m_host.m_msgs[0].message);
    EXPECT_EQ((WPARAM)SWATCH, m_host.m_msgs[0].wParam);
    EXPECT_EQ(55, m_host.m_msgs[0].lParam);

    m_host.m_msgs.clear();
    btn.ModifyStyle(0x40000, 0);
    btn.OnClick(CPoint(30, 5), true);
    btn.OnClick(CPoint(30, 5), false);
    btn.SetSeparatedDropDown(false);
    btn.OnClick(CPoint(5, 5), true);
    CExtToolControlBar::g_bButtonMenuTracking = true;
    bool bSuspend = false;
    btn.OnHover(CPoint(5, 5), true, bSuspend);
    CExtToolControlBar::g_bButtonMenuTracking = false;
    EXPECT_FALSE(CExtPopupMenuWnd::IsMenuTracking()) << "arrow, click or hover while menus are open";
    EXPECT_TRUE(m_host.m_msgs.empty());
}

TEST_F(BarColorButtonTest, InADialogBarTheChevronMenuHoldsAColourMenu)
{
    CExtBarColorButton btn(&m_bar, ID_COLOR, 0, SWATCH, RGB(7, 7, 7), 9);
    btn.ModifyStyle(0x40000, 0);
    CExtPopupMenuWnd* pPopup = new CExtPopupMenuWnd;
    ASSERT_TRUE(pPopup->CreatePopupMenu(m_host.GetSafeHwnd()));
    ASSERT_TRUE(btn.PutToPopupMenu(pPopup));
    ASSERT_EQ(1, pPopup->ItemGetCount());
    CExtPopupMenuWnd::MENUITEMDATA& mi = pPopup->ItemGetInfo(0);
    EXPECT_TRUE(mi.IsPopup());
    EXPECT_STREQ("Fill &Colour", (LPCTSTR)mi.GetText());
    EXPECT_FALSE(mi.IsEnabled());
    CExtPopupColorMenuWnd* pSub = DYNAMIC_DOWNCAST(CExtPopupColorMenuWnd, mi.GetPopup());
    ASSERT_TRUE(pSub != NULL);
    EXPECT_EQ(SWATCH, pSub->m_clrInitial);
    EXPECT_EQ(RGB(7, 7, 7), pSub->m_clrDefault);
    EXPECT_EQ(9, pSub->m_lParamCookie);
    delete pPopup;
}
