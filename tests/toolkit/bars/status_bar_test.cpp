// The themed status bar: panes from indicators, panes inserted at run time with their
// texts, widths, styles and icons moving along, pane controls over their panes (hidden
// once their pane is gone), the size grip's hit test, and the painted colours per theme.
#include <gtest/gtest.h>

#include <string>

#include "framework/framework.h"
#include "support/dib_canvas.h"
#include "support/message_pump.h"
#include "toolkit/bars/control_bar.h"
#include "toolkit/theme/paint_manager.h"
#include "bars_menubar_test_ids.h"

using testsupport::DibCanvas;
using testsupport::PumpPending;

namespace {

// A top-level parent whose size limits and layout direction a test chooses.
struct SbParent : CWnd
{
    bool m_bFixedSize = false;
    SbParent(DWORD dwExStyle = 0)
    {
        CreateEx(dwExStyle, NULL, "SbParent", WS_POPUP | WS_THICKFRAME | WS_CLIPCHILDREN, 40, 40, 420, 120, NULL,
                 NULL);
    }
    ~SbParent()
    {
        if (m_hWnd != NULL)
            DestroyWindow();
    }
    LRESULT WindowProc(UINT nMsg, WPARAM wParam, LPARAM lParam) override
    {
        if (nMsg == WM_GETMINMAXINFO && m_bFixedSize)
        {
            MINMAXINFO* p = (MINMAXINFO*)lParam;
            p->ptMinTrackSize.x = p->ptMaxTrackSize.x = 420;
            p->ptMinTrackSize.y = p->ptMaxTrackSize.y = 120;
            return 0;
        }
        return CWnd::WindowProc(nMsg, wParam, lParam);
    }
};

std::string Ids(CExtStatusControlBar& bar)
{
    std::string s;
    for (int i = 0; i < bar.GetPanesCount(); i++)
    {
        CExtStatusControlBar::_STATUSBAR_PANE_ pane;
        bar.GetPaneInfoEx(i, &pane);
        char sz[64];
        wsprintfA(sz, "%s%u:%s", i == 0 ? "" : " ", pane.nID, (LPCSTR)pane.strText);
        s += sz;
    }
    return s;
}

class StatusBarTest : public ::testing::Test
{
protected:
    void Make(DWORD dwExStyle = 0)
    {
        m_pParent = new SbParent(dwExStyle);
        ASSERT_TRUE(m_bar.Create(m_pParent));
        m_pParent->RepositionBars(0, 0xFFFF, 0);
    }
    void TearDown() override
    {
        if (m_bar.GetSafeHwnd() != NULL)
            m_bar.DestroyWindow();
        delete m_pParent;
        g_CurrentPaintManager.InstallPaintManagerByClass(RUNTIME_CLASS(CExtPaintManagerXP));
    }
    SbParent* m_pParent = NULL;
    CExtStatusControlBar m_bar;
};

TEST_F(StatusBarTest, IndicatorsTakeTextsAndWidths)
{
    Make();
    const UINT ids[] = {0, IDS_MB_IND_CAPS, 63999};
    ASSERT_TRUE(m_bar.SetIndicators(ids, 3));
    EXPECT_EQ("0: 63001:CAPS 63999:", Ids(m_bar));
    UINT nID, nStyle;
    int cx;
    m_bar.GetPaneInfo(0, nID, nStyle, cx);
    EXPECT_EQ(UINT(SBPS_STRETCH | SBPS_NOBORDERS), nStyle);
    EXPECT_EQ(::GetSystemMetrics(SM_CXSCREEN) / 4, cx);
    // An indicator is as wide as its text in the bar's font; a missing string gives 0.
    CClientDC dc(&m_bar);
    HGDIOBJ hOld = ::SelectObject(dc.GetSafeHdc(), (HFONT)m_bar.SendMessage(WM_GETFONT));
    SIZE size;
    ::GetTextExtentPoint32A(dc.GetSafeHdc(), "CAPS", 4, &size);
    ::SelectObject(dc.GetSafeHdc(), hOld);
    m_bar.GetPaneInfo(1, nID, nStyle, cx);
    EXPECT_EQ(size.cx, cx);
    m_bar.GetPaneInfo(2, nID, nStyle, cx);
    EXPECT_EQ(0, cx);
}

TEST_F(StatusBarTest, AddPaneShiftsPanesWithTheirTextsWidthsStylesAndIcons)
{
    Make();
    const UINT ids[] = {0, IDS_MB_IND_CAPS};
    ASSERT_TRUE(m_bar.SetIndicators(ids, 2));
    m_bar.SetPaneText(0, "Ready");
    m_bar.SetPaneInfo(1, IDS_MB_IND_CAPS, SBPS_POPOUT, 77);
    HICON hIcon = ::LoadIcon(NULL, IDI_APPLICATION);
    m_bar.SendMessage(SB_SETICON, 1, (LPARAM)hIcon);

    struct Case
    {
        UINT nID;
        int nIndex;
        bool bResult;
        const char* sIds;
    } cases[] = {
        {7, 0, true, "7: 0:Ready 63001:CAPS"},
        {8, 3, true, "7: 0:Ready 63001:CAPS 8:"},
        {63001, 1, false, "7: 0:Ready 63001:CAPS 8:"},  // id taken
        {9, 5, false, "7: 0:Ready 63001:CAPS 8:"},      // past count
        {9, -1, false, "7: 0:Ready 63001:CAPS 8:"},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.sIds);
        EXPECT_EQ(c.bResult, m_bar.AddPane(c.nID, c.nIndex));
        EXPECT_EQ(c.sIds, Ids(m_bar));
        EXPECT_EQ(0, m_bar.m_nSuspendFlags);
    }
    UINT nID, nStyle;
    int cx;
    m_bar.GetPaneInfo(2, nID, nStyle, cx);
    EXPECT_EQ(UINT(SBPS_POPOUT), nStyle);
    EXPECT_EQ(77, cx);
    m_bar.GetPaneInfo(1, nID, nStyle, cx);
    EXPECT_EQ(UINT(SBPS_STRETCH | SBPS_NOBORDERS), nStyle);
    // The icon moved with its pane, as the bar's own copy; the new panes show none.
    EXPECT_EQ(0, m_bar.SendMessage(SB_GETICON, 0));
    EXPECT_EQ(0, m_bar.SendMessage(SB_GETICON, 1));
    HICON hMoved = (HICON)m_bar.SendMessage(SB_GETICON, 2);
    EXPECT_TRUE(hMoved != NULL && hMoved != hIcon);
    EXPECT_EQ(0, m_bar.SendMessage(SB_GETICON, 3));
}

TEST_F(StatusBarTest, PaneControlsFollowTheirPaneAndHideWhenItIsGone)
{
    Make();
    const UINT ids[] = {0, 5};
    ASSERT_TRUE(m_bar.SetIndicators(ids, 2));
    m_bar.SetPaneWidth(1, 60);
    HWND hCtrl = ::CreateWindowA("STATIC", "x", WS_CHILD | WS_VISIBLE, 0, 0, 5, 5, m_bar.m_hWnd, NULL, NULL, NULL);
    ASSERT_TRUE(m_bar.AddPaneControl(hCtrl, 5, true));
    EXPECT_FALSE(m_bar.AddPaneControl(hCtrl, 5, true));
    CRect rcPane, rcCtrl;
    m_bar.GetPanePaintRect(1, rcPane);
    ::GetWindowRect(hCtrl, &rcCtrl);
    m_bar.ScreenToClient(&rcCtrl);
    const int e = ::GetSystemMetrics(SM_CXEDGE);
    EXPECT_EQ(CRect(rcPane.left + e, rcPane.top + e, rcPane.right - e, rcPane.bottom - e), rcCtrl);
    m_bar.SetPaneInfo(1, 5, SBPS_DISABLED, 60);
    EXPECT_FALSE(::IsWindowEnabled(hCtrl));

    const UINT idsWithout[] = {0, 6};
    ASSERT_TRUE(m_bar.SetIndicators(idsWithout, 2));
    m_bar.RepositionPaneControls(false);
    EXPECT_FALSE(::IsWindowVisible(hCtrl));
    EXPECT_TRUE(m_bar.RemovePaneControl(5));
    EXPECT_FALSE(::IsWindow(hCtrl));
    EXPECT_FALSE(m_bar.RemovePaneControl(5));
}

TEST_F(StatusBarTest, SizeGripHitTest)
{
    struct Case
    {
        const char* sName;
        DWORD dwExStyle;
        bool bFixed, bMaximized;
        LRESULT nExpected;
    } cases[] = {
        {"sizable", 0, false, false, HTBOTTOMRIGHT},
        {"fixed size", 0, true, false, HTCLIENT},
        {"maximized", 0, false, true, HTCLIENT},
        {"right to left", WS_EX_LAYOUTRTL, false, false, HTBOTTOMLEFT},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.sName);
        Make(c.dwExStyle);
        m_pParent->m_bFixedSize = c.bFixed;
        if (c.bMaximized)
        {
            m_pParent->ShowWindow(SW_MAXIMIZE);
            m_pParent->RepositionBars(0, 0xFFFF, 0);
        }
        CRect rc;
        m_bar.GetClientRect(&rc);
        CPoint pt(rc.right - 3, rc.bottom - 3);
        m_bar.ClientToScreen(&pt);
        EXPECT_EQ(c.nExpected, m_bar.SendMessage(WM_NCHITTEST, 0, MAKELPARAM(pt.x, pt.y)));
        m_bar.DestroyWindow();
        delete m_pParent;
        m_pParent = NULL;
    }
}

struct ThemeCase
{
    CRuntimeClass* pClass;
    const char* sName;
    int nPaneBorderColor;  // colour at the pane's left border
    int nGripColor;        // colour at the grip's first mark
    int nGripDx, nGripDy;  // that mark from the client's bottom-right corner
    int nBackground;       // colour between the text and the border, -1: parent's
};

TEST_F(StatusBarTest, PaintsPanesBordersTextAndGripInTheThemeColours)
{
    const ThemeCase themes[] = {
        {RUNTIME_CLASS(CExtPaintManager), "base", CExtPaintManager::CLR_3DSHADOW_OUT, COLOR_BTNSHADOW, 3, 2,
         CExtPaintManager::CLR_3DFACE_OUT},
        {RUNTIME_CLASS(CExtPaintManagerXP), "XP", COLOR_BTNSHADOW, COLOR_BTNSHADOW, 3, 2,
         CExtPaintManager::CLR_3DFACE_OUT},
        {RUNTIME_CLASS(CExtPaintManagerOffice2003), "Office 2003", 3014, 3003, 4, 4, -1},
        {RUNTIME_CLASS(CExtPaintManagerStudio2005), "Studio 2005", 3014, 3003, 4, 4, -1},
    };
    for (const ThemeCase& t : themes)
    {
        SCOPED_TRACE(t.sName);
        g_CurrentPaintManager.InstallPaintManagerByClass(t.pClass);
        Make();
        const UINT ids[] = {1, IDS_MB_IND_CAPS};
        ASSERT_TRUE(m_bar.SetIndicators(ids, 2));
        m_bar.SetDrawPaneBorders(false);
        m_bar.SetPaneWidth(0, 200);
        m_bar.SetPaneText(0, "MMMM");
        m_pParent->ShowWindow(SW_SHOWNOACTIVATE);
        m_bar.RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW | RDW_FRAME);
        PumpPending();

        CRect rcClient, rcPane0, rcPane1;
        m_bar.GetClientRect(&rcClient);
        m_bar.GetPanePaintRect(0, rcPane0);
        m_bar.GetPanePaintRect(1, rcPane1);
        DibCanvas canvas(rcClient.Width(), rcClient.Height());
        HDC hScreen = ::GetDC(NULL);
        CPoint ptOrg(0, 0);
        m_bar.ClientToScreen(&ptOrg);
        ::BitBlt(canvas.Dc(), 0, 0, rcClient.Width(), rcClient.Height(), hScreen, ptOrg.x, ptOrg.y, SRCCOPY);
        ::ReleaseDC(NULL, hScreen);

        CExtPaintManager* pPM = g_CurrentPaintManager.GetPM();
        const int yMid = (rcPane1.top + rcPane1.bottom) / 2;
        EXPECT_EQ(pPM->LookupColor(t.nPaneBorderColor), canvas.Pixel(rcPane1.left, yMid));
        // Pane 0 has a border only when asked for.
        EXPECT_NE(pPM->LookupColor(t.nPaneBorderColor), canvas.Pixel(rcPane0.left, yMid));
        m_bar.SetDrawPaneBorders(true);
        PumpPending();
        HDC hScreen2 = ::GetDC(NULL);
        ::BitBlt(canvas.Dc(), 0, 0, rcClient.Width(), rcClient.Height(), hScreen2, ptOrg.x, ptOrg.y, SRCCOPY);
        ::ReleaseDC(NULL, hScreen2);
        EXPECT_EQ(pPM->LookupColor(t.nPaneBorderColor), canvas.Pixel(rcPane0.left, yMid));
        const CRect rcText(rcPane0.left + 2, rcPane0.top + 1, rcPane0.left + 60, rcPane0.bottom - 1);
        EXPECT_GT(canvas.Count(pPM->LookupColor(COLOR_BTNTEXT), rcText), 10);
        if (t.nBackground >= 0)
        {
            EXPECT_EQ(pPM->LookupColor(t.nBackground), canvas.Pixel(rcPane0.right - 10, yMid));
        }
        EXPECT_EQ(pPM->LookupColor(t.nGripColor),
                  canvas.Pixel(rcClient.right - t.nGripDx, rcClient.bottom - t.nGripDy));
        m_bar.DestroyWindow();
        delete m_pParent;
        m_pParent = NULL;
    }
}

}  // namespace
