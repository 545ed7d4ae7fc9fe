// The WM_SIZEPARENT layout of bars through RepositionBarsEx: exact rectangles on every
// side, the query mode, the reposition query's skip bit, the left-over window with extra
// margins and the right-to-left swap of a docked vertical bar; and the size queries.
#include <gtest/gtest.h>

#include <string>

#include "framework/framework.h"
#include "framework/afxres.h"
#include "toolkit/bars/control_bar.h"

namespace {

struct Parent : CWnd
{
    explicit Parent(DWORD dwExStyle = 0)
    {
        CreateEx(dwExStyle, NULL, "Parent", WS_POPUP | WS_CLIPCHILDREN, 0, 0, 300, 200, NULL, NULL);
    }
    ~Parent()
    {
        if (m_hWnd != NULL)
            DestroyWindow();
    }
};

// A bar that asks to be left out of the layout pass.
class SkippingBar : public CExtControlBar
{
public:
    int m_nQueries = 0;
    UINT m_nLastMode = 99;
    LRESULT WindowProc(UINT nMsg, WPARAM wParam, LPARAM lParam) override
    {
        if (nMsg == g_nMsgQueryRepositionCalcEffect)
        {
            QUERY_REPOSITION_CALC_EFFECT_DATA* p = reinterpret_cast<QUERY_REPOSITION_CALC_EFFECT_DATA*>(wParam);
            m_nQueries++;
            m_nLastMode = p->GetReposFlag();
            EXPECT_FALSE(p->IsSkipSizeParent());
            p->SetSkipSizeParent(true);
            return 0;
        }
        return CExtControlBar::WindowProc(nMsg, wParam, lParam);
    }
};

// Rectangles compare as text so a failure shows the coordinates.
std::string R(const RECT& rc)
{
    char s[64];
    wsprintfA(s, "(%d,%d,%d,%d)", rc.left, rc.top, rc.right, rc.bottom);
    return s;
}

std::string RectIn(CWnd& wnd, CWnd& parent)
{
    CRect rc;
    wnd.GetWindowRect(&rc);
    parent.ScreenToClient(&rc);
    return R(rc);
}

struct FourBars
{
    SkippingBar top;
    CExtControlBar left, bottom, right;
    explicit FourBars(CWnd& parent)
    {
        top.Create("Top", &parent, 0xE910, WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP);
        left.Create("Left", &parent, 0xE911, WS_CHILD | WS_VISIBLE | CBRS_ALIGN_LEFT);
        bottom.Create("Bottom", &parent, 0xE912, WS_CHILD | WS_VISIBLE | CBRS_ALIGN_BOTTOM);
        right.Create("Right", &parent, 0xE913, WS_CHILD | WS_VISIBLE | CBRS_ALIGN_RIGHT);
        top.m_sizeDockedH = CSize(200, 30);
        bottom.m_sizeDockedH = CSize(200, 20);
        // Keep the row thickness above the minimum extent whatever the system metrics.
        top.m_nMinHW = bottom.m_nMinHW = 10;
        // A stretched vertical bar takes its width from the docked-horizontal size.
        left.m_sizeDockedH = CSize(40, 10);
        right.m_sizeDockedH = CSize(50, 10);
        left.m_sizeDockedV = CSize(40, 100);
        right.m_sizeDockedV = CSize(50, 100);
    }
};

}  // namespace

TEST(ControlBarLayout, StretchedBarsTakeTheirStripsOfEachSide)
{
    Parent parent;
    FourBars bars(parent);
    CWnd pane;
    ASSERT_TRUE(pane.CreateEx(0, "STATIC", "", WS_CHILD | WS_VISIBLE, CRect(0, 0, 1, 1), &parent, AFX_IDW_PANE_FIRST));

    // Extra margins shrink what is left for the pane; the skip bit is ignored here.
    CRect rcMargins(1, 2, 3, 4);
    CExtControlBar::RepositionBarsEx(&parent, 0, 0xFFFF, AFX_IDW_PANE_FIRST, reposExtra, &rcMargins, NULL, TRUE);
    EXPECT_EQ(1, bars.top.m_nQueries);
    EXPECT_EQ(UINT(reposExtra), bars.top.m_nLastMode);
    EXPECT_EQ(R(CRect(0, 0, 300, 30)), RectIn(bars.top, parent));
    EXPECT_EQ(R(CRect(0, 30, 40, 200)), RectIn(bars.left, parent));
    EXPECT_EQ(R(CRect(40, 180, 300, 200)), RectIn(bars.bottom, parent));
    EXPECT_EQ(R(CRect(250, 30, 300, 180)), RectIn(bars.right, parent));
    EXPECT_EQ(R(CRect(41, 32, 247, 176)), RectIn(pane, parent));
    pane.DestroyWindow();
}

TEST(ControlBarLayout, QueryModeMovesNothingAndHonoursTheSkipBit)
{
    Parent parent;
    FourBars bars(parent);
    bars.top.MoveWindow(1, 1, 5, 5);

    CRect rc(-1, -1, -1, -1);
    CExtControlBar::RepositionBarsEx(&parent, 0, 0xFFFF, 0, reposQuery, &rc, NULL, FALSE);
    EXPECT_EQ(UINT(reposQuery), bars.top.m_nLastMode);
    // The top bar is left out: left (40,100), bottom (200,20), right (50,100).
    EXPECT_EQ(R(CRect(0, 0, 250, 120)), R(rc));
    EXPECT_EQ(R(CRect(1, 1, 6, 6)), RectIn(bars.top, parent));
    EXPECT_EQ(R(CRect(0, 0, 0, 0)), RectIn(bars.left, parent));

    // Stretched query: the rectangle that remains.
    CExtControlBar::RepositionBarsEx(&parent, 0, 0xFFFF, 0, reposQuery, &rc, NULL, TRUE);
    EXPECT_EQ(R(CRect(40, 0, 250, 180)), R(rc));

    // Only the ids in range get WM_SIZEPARENT.
    CExtControlBar::RepositionBarsEx(&parent, 0xE912, 0xE912, 0, reposQuery, &rc, NULL, TRUE);
    EXPECT_EQ(R(CRect(0, 0, 300, 180)), R(rc));
}

TEST(ControlBarLayout, HiddenBarsAndBarsLeftOutOfTheLayoutTakeNoSpace)
{
    Parent parent;
    CExtControlBar top, hidden;
    ASSERT_TRUE(top.Create("Top", &parent, 0xE920, WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP));
    ASSERT_TRUE(hidden.Create("Hidden", &parent, 0xE921, WS_CHILD | CBRS_ALIGN_TOP));
    top.m_sizeDockedH = CSize(100, 25);
    CRect rc;
    CExtControlBar::RepositionBarsEx(&parent, 0, 0xFFFF, 0, reposQuery, &rc, NULL, TRUE);
    EXPECT_EQ(R(CRect(0, 25, 300, 200)), R(rc));
    top.m_nOptionFlags &= ~0x08;
    CExtControlBar::RepositionBarsEx(&parent, 0, 0xFFFF, 0, reposQuery, &rc, NULL, TRUE);
    EXPECT_EQ(R(CRect(0, 0, 300, 200)), R(rc));
    // A client rectangle given by the caller replaces the parent's.
    top.m_nOptionFlags |= 0x08;
    const CRect rcClient(10, 10, 110, 60);
    CExtControlBar::RepositionBarsEx(&parent, 0, 0xFFFF, 0, reposQuery, &rc, &rcClient, TRUE);
    EXPECT_EQ(R(CRect(10, 35, 110, 60)), R(rc));
}

TEST(ControlBarLayout, DockedVerticalBarSwapsSidesInARightToLeftParent)
{
    struct Case
    {
        const char* name;
        DWORD dwExStyle;
        bool bDockBar;
        CRect rcExpected;
    } cases[] = {
        {"rtl, docked", WS_EX_LAYOUTRTL, true, CRect(0, 0, 260, 200)},
        {"rtl, in a dialog", WS_EX_LAYOUTRTL, false, CRect(40, 0, 300, 200)},
        {"ltr, docked", 0, true, CRect(40, 0, 300, 200)},
    };
    for (const Case& c : cases)
    {
        Parent parent(c.dwExStyle);
        CDockBar dockBar;
        CExtControlBar bar;
        ASSERT_TRUE(bar.Create("Left", &parent, 0xE930, WS_CHILD | WS_VISIBLE | CBRS_ALIGN_LEFT)) << c.name;
        bar.m_sizeDockedH = CSize(40, 10);
        if (c.bDockBar)
            bar.m_pDockBar = &dockBar;
        CRect rc;
        CExtControlBar::RepositionBarsEx(&parent, 0, 0xFFFF, 0, reposQuery, &rc, NULL, TRUE);
        EXPECT_EQ(R(c.rcExpected), R(rc)) << c.name;
        bar.m_pDockBar = NULL;
        bar.DestroyWindow();
    }
}

TEST(ControlBarLayout, SizeQueries)
{
    CExtControlBar bar;
    // The stretch argument of the fixed layout is not used.
    EXPECT_EQ(CSize(150, 200), bar.CalcFixedLayout(TRUE, FALSE));
    EXPECT_EQ(CSize(200, 150), bar.CalcFixedLayout(TRUE, TRUE));
    EXPECT_EQ(CSize(200, 32767), bar.CalcDynamicLayout(-1, LM_STRETCH | LM_VERTDOCK));
    EXPECT_EQ(CSize(32767, 150), bar.CalcDynamicLayout(-1, LM_STRETCH | LM_HORZ | LM_HORZDOCK));

    EXPECT_EQ(bar.m_nMinHW, bar.GetMinHorzExtent());
    bar.m_nMinHW = 5;
    EXPECT_EQ(10, bar.GetMinHorzExtent());
    bar.m_nOptionFlags &= ~0x01;
    EXPECT_EQ(5, bar.GetMinHorzExtent());
    bar.SetLeadingSplitterRect(CRect(0, 0, 4, 6));
    EXPECT_EQ(9, bar.GetMinHorzExtent());
    EXPECT_EQ(bar.m_nMinVH + 6, bar.GetMinVertExtent());
    EXPECT_EQ(CSize(9, bar.m_nMinVH + 6), bar.GetMinSize());

    // A docked size below the minimum is raised to it.
    bar.m_sizeDockedV = CSize(3, 50);
    EXPECT_EQ(CSize(bar.GetMinVertExtent(), 50), bar.CalcFixedLayout(FALSE, FALSE));
    EXPECT_EQ(bar.GetMinVertExtent(), bar.m_sizeDockedV.cx);
}
