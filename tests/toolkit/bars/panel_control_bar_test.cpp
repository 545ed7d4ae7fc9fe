// The panel bar: its size from the hosted window, margins and frame; the hosted window
// kept at the margin corner; the focus handed on; the background colour per theme.
#include <gtest/gtest.h>

#include "framework/framework.h"
#include "support/message_pump.h"
#include "toolkit/bars/panel_control_bar.h"
#include "toolkit/theme/paint_manager.h"

using testsupport::PumpPending;

namespace {

struct PanelHost : CWnd
{
    PanelHost() { CreateEx(0, NULL, "PanelHost", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 30, 30, 400, 300, NULL, NULL); }
    ~PanelHost()
    {
        if (m_hWnd != NULL)
            DestroyWindow();
    }
};

CRect ChildRectInPanel(CExtPanelControlBar& panel)
{
    CRect rc;
    ::GetWindowRect(::GetWindow(panel.m_hWnd, GW_CHILD), &rc);
    panel.ScreenToClient(&rc);
    return rc;
}

}  // namespace

TEST(PanelControlBar, SizeIsTheHostedWindowPlusMarginsAndTheChildKeepsTheMarginCorner)
{
    ASSERT_TRUE(g_CurrentPaintManager.InstallPaintManager(new CExtPaintManagerXP));
    PanelHost host;
    CExtPanelControlBar panel;
    ASSERT_TRUE(panel.Create("Panel", &host, 0xE906, WS_CHILD | WS_VISIBLE | CBRS_TOP));
    EXPECT_TRUE(panel.IsPanelBar());
    // Docked horizontally in a window without a dock site: 2 + margins across, 4 more
    // for the window's edge along the height.
    EXPECT_EQ(CSize(12, 16), panel.CalcFixedLayout(TRUE, TRUE)) << "without a child";
    EXPECT_EQ(CSize(12, 16), panel.CalcDynamicLayout(500, LM_HORZ | LM_COMMIT)) << "mode and length do not count";

    CEdit edit;
    ASSERT_TRUE(edit.Create(WS_CHILD | WS_VISIBLE | WS_BORDER, CRect(0, 0, 100, 40), &panel, 1));
    EXPECT_EQ(CSize(100, 40), panel.GetChildSize());
    EXPECT_EQ(CSize(112, 56), panel.CalcFixedLayout(TRUE, TRUE));
    EXPECT_EQ(110, panel.GetMinHorzExtent()) << "the hosted window and the margins";
    panel.m_nMarginLeft = 8;
    EXPECT_EQ(CSize(115, 56), panel.CalcFixedLayout(TRUE, TRUE));

    struct Move
    {
        CRect rcPanel;
    } moves[] = {{CRect(0, 0, 200, 80)}, {CRect(10, 20, 150, 90)}, {CRect(0, 0, 60, 30)}};
    for (const Move& m : moves)
    {
        panel.MoveWindow(&m.rcPanel);
        CRect rcClient;
        panel.GetClientRect(&rcClient);
        EXPECT_EQ(CRect(rcClient.left + 8, rcClient.top + 5, rcClient.left + 108, rcClient.top + 45),
                  ChildRectInPanel(panel))
            << m.rcPanel.Width() << "x" << m.rcPanel.Height();
    }

    host.SetActiveWindow();
    panel.SetFocus();
    EXPECT_EQ(edit.m_hWnd, ::GetFocus()) << "the focus goes on to the hosted window";
    panel.DestroyWindow();
}

TEST(PanelControlBar, MarginsShowTheThemeBackground)
{
    // XP fills the face colour; the Office 2003 looks carry the host's gradient on under
    // the panel (at (2, 2), (60, 2) and (100, 40)).
    const COLORREF kGradient[3] = {RGB(0xF5, 0xF5, 0xF5), RGB(0xF6, 0xF6, 0xF6), RGB(0xF7, 0xF7, 0xF7)};
    struct Case
    {
        const char* name;
        CExtPaintManager* pPM;
        bool bFace;
    } cases[] = {
        {"XP", new CExtPaintManagerXP, true},
        {"Office 2003", new CExtPaintManagerOffice2003, false},
        {"Studio 2005", new CExtPaintManagerStudio2005, false},
    };
    for (const Case& c : cases)
    {
        ASSERT_TRUE(g_CurrentPaintManager.InstallPaintManager(c.pPM)) << c.name;
        PanelHost host;
        CExtPanelControlBar panel;
        ASSERT_TRUE(panel.Create("Panel", &host, 0xE906, WS_CHILD | WS_VISIBLE | CBRS_TOP));
        CStatic label;
        ASSERT_TRUE(label.Create("x", WS_CHILD | WS_VISIBLE, CRect(0, 0, 30, 10), &panel));
        panel.MoveWindow(0, 0, 120, 60);
        panel.UpdateWindow();
        PumpPending();
        CClientDC dc(&panel);
        const POINT pts[3] = {{2, 2}, {60, 2}, {100, 40}};
        for (int i = 0; i < 3; i++)
        {
            const COLORREF clr =
                c.bFace ? c.pPM->LookupColor(CExtPaintManager::CLR_3DFACE_OUT, &panel) : kGradient[i];
            EXPECT_EQ(clr, dc.GetPixel(pts[i].x, pts[i].y)) << c.name << " point " << i;
        }
        panel.DestroyWindow();
    }
}
