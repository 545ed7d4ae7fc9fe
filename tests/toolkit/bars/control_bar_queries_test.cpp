// Queries other code puts to bars: the focus-change query, the custom non-client query,
// help mode, help hit tests, the list of a frame's bars and the hooks the bars give to
// the libraries linked before them.
#include <gtest/gtest.h>

#include "framework/framework.h"
#include "framework/afxres.h"
#include "toolkit/bars/control_bar.h"
#include "toolkit/core/cmd_manager.h"
#include "toolkit/theme/pm_neighbours.h"

namespace {

// A parent that answers the bars' registered queries.
class Answering : public CWnd
{
public:
    bool m_bForbidFocus = false;
    bool m_bHandleNc = false;
    int m_nFocusQueries = 0, m_nNcQueries = 0;
    HWND m_hWndAskedFocus = NULL;
    Answering() { CreateEx(0, NULL, "Answering", WS_POPUP, 0, 0, 200, 100, NULL, NULL); }
    ~Answering()
    {
        if (m_hWnd != NULL)
            DestroyWindow();
    }
    LRESULT WindowProc(UINT nMsg, WPARAM wParam, LPARAM lParam) override
    {
        if (nMsg == CExtControlBar::g_nMsgQueryFocusChangingEnabled)
        {
            m_nFocusQueries++;
            auto* p = reinterpret_cast<CExtControlBar::QUERY_FOCUS_CHANGING_DATA*>(wParam);
            EXPECT_TRUE(p->m_bCanChangeFocus);
            m_hWndAskedFocus = p->m_hWndNewFocus;
            if (m_bForbidFocus)
                p->m_bCanChangeFocus = false;
            return 0;
        }
        if (nMsg == CExtControlBar::g_nMsgCustomNcAreaQuery)
        {
            m_nNcQueries++;
            auto* p = reinterpret_cast<CExtControlBar::CUSTOM_NC_AREA_QUERY_DATA*>(wParam);
            if (m_bHandleNc)
                p->SetHandled(true);
            return 0;
        }
        return CWnd::WindowProc(nMsg, wParam, lParam);
    }
};

class HelpBar : public CExtControlBar
{
public:
    int m_nAnswer = -1;
    int OnHelpHitTestBar(CPoint) override { return m_nAnswer; }
};

}  // namespace

TEST(ControlBarQueries, FocusChangeIsAskedOfTheParentOfABarInADialog)
{
    Answering parent;
    CExtControlBar bar;
    ASSERT_TRUE(bar.Create("Bar", &parent, 0xE940, WS_CHILD | CBRS_ALIGN_TOP));
    EXPECT_TRUE(CExtControlBar::QueryFocusChangingEnabled(&bar, (HWND)0x1234));
    EXPECT_EQ(1, parent.m_nFocusQueries);
    EXPECT_EQ((HWND)0x1234, parent.m_hWndAskedFocus);
    parent.m_bForbidFocus = true;
    EXPECT_FALSE(CExtControlBar::QueryFocusChangingEnabled(&bar, NULL));
    // No target: the change is allowed.
    EXPECT_TRUE(CExtControlBar::SendQueryFocusChangingEnabled(NULL, &bar, NULL));
    bar.DestroyWindow();
}

TEST(ControlBarQueries, CustomNonClientQueryIsSentOnlyWhenSwitchedOn)
{
    Answering parent;
    CExtControlBar bar;
    ASSERT_TRUE(bar.Create("Bar", &parent, 0xE941, WS_CHILD | CBRS_ALIGN_TOP | CBRS_GRIPPER));
    bar.SetSeparatorWidth(9);
    bar.SetGripperHeightAtTop(40);
    CExtControlBar::CUSTOM_NC_AREA_QUERY_DATA q(&bar);
    EXPECT_FALSE(q.Notify());
    EXPECT_EQ(0, parent.m_nNcQueries);
    // The defaults of the themes: the system's frame and small-caption sizes.
    EXPECT_EQ(std::min(::GetSystemMetrics(SM_CXFRAME), 4), bar.GetSeparatorWidth());
    EXPECT_EQ(::GetSystemMetrics(SM_CYSMCAPTION) + 1, bar.GetGripperHeightAtTop());

    CExtControlBar::g_bEnableCustomNcAreaQuery = true;
    parent.m_bHandleNc = true;
    bar.SetSeparatorWidth(9);
    EXPECT_TRUE(q.Notify());
    EXPECT_EQ(1, parent.m_nNcQueries);
    EXPECT_EQ(9, bar.GetSeparatorWidth());
    CExtControlBar::g_bEnableCustomNcAreaQuery = false;
    bar.DestroyWindow();
}

TEST(ControlBarQueries, HelpHitTestAndHelpMode)
{
    CFrameWnd* pFrame = new CFrameWnd;
    ASSERT_TRUE(pFrame->Create(NULL, "Frame", WS_OVERLAPPEDWINDOW, CRect(0, 0, 300, 200)));
    HelpBar bar;
    ASSERT_TRUE(bar.Create("Bar", pFrame, 0xE942, WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP));
    struct
    {
        int nAnswer;
        LRESULT lExpected;
    } cases[] = {{-3, 0}, {-2, -1}, {5, 0x10005}, {-1, LRESULT(HID_BASE_CONTROL + 0xE942)}};
    for (const auto& c : cases)
    {
        bar.m_nAnswer = c.nAnswer;
        EXPECT_EQ(c.lExpected, bar.SendMessage(WM_HELPHITTEST, 0, MAKELPARAM(1, 1))) << "answer " << c.nAnswer;
    }
    EXPECT_FALSE(CExtControlBar::IsFrameInHelpMode(&bar));
    pFrame->m_bHelpMode = TRUE;
    EXPECT_TRUE(CExtControlBar::IsFrameInHelpMode(&bar));
    EXPECT_TRUE(CExtControlBar::IsFrameInHelpMode(pFrame));
    pFrame->m_bHelpMode = FALSE;
    EXPECT_FALSE(CExtControlBar::IsOleInPlaceActive(pFrame));
    bar.DestroyWindow();
    pFrame->DestroyWindow();
}

TEST(ControlBarQueries, FrameBarsByMask)
{
    CFrameWnd* pFrame = new CFrameWnd;
    ASSERT_TRUE(pFrame->Create(NULL, "Frame", WS_OVERLAPPEDWINDOW, CRect(0, 0, 400, 300)));
    pFrame->EnableDocking(CBRS_ALIGN_ANY);
    CExtControlBar top, left, hidden;
    CExtToolControlBar tool;
    ASSERT_TRUE(top.Create("Top", pFrame, 0xE950, WS_CHILD | WS_VISIBLE | CBRS_TOP));
    ASSERT_TRUE(left.Create("Left", pFrame, 0xE951, WS_CHILD | WS_VISIBLE | CBRS_LEFT));
    ASSERT_TRUE(hidden.Create("Hidden", pFrame, 0xE952, WS_CHILD | CBRS_TOP));
    ASSERT_TRUE(tool.Create("Tool", pFrame, 0xE953, WS_CHILD | WS_VISIBLE | CBRS_TOP));
    for (CExtControlBar* p : {&top, &left, &hidden, static_cast<CExtControlBar*>(&tool)})
        p->EnableDocking(CBRS_ALIGN_ANY);
    pFrame->DockControlBar(&top, AFX_IDW_DOCKBAR_TOP);
    pFrame->DockControlBar(&left, AFX_IDW_DOCKBAR_LEFT);
    pFrame->DockControlBar(&hidden, AFX_IDW_DOCKBAR_TOP);
    pFrame->DockControlBar(&tool, AFX_IDW_DOCKBAR_TOP);

    struct
    {
        const char* name;
        DWORD dwMask;
        int nCount;
    } cases[] = {
        {"all", 0xFFF, 4},
        {"no kind bit", 0xFF8, 0},
        {"fixed only", 0xFF9, 1},
        {"visible only", 0xDFF, 3},
        {"hidden only", 0xEFF, 1},
        {"top side", 0xF0F, 3},
        {"left side", 0xF27, 1},
        {"no side", 0xF87, 0},
        {"disabled only", 0xBFF, 0},
    };
    CArray<CExtControlBar*, CExtControlBar*> bars;
    for (const auto& c : cases)
    {
        CExtControlBar::GetFrameControlBars(NULL, pFrame, bars, c.dwMask);
        EXPECT_EQ(c.nCount, bars.GetSize()) << c.name;
    }
    top.GetBarFrameControlBars(bars, 0xFFF, true);
    EXPECT_EQ(3, bars.GetSize());
    pFrame->DestroyWindow();
}

TEST(ControlBarQueries, HooksGivenToTheLibrariesBelow)
{
    CFrameWnd* pFrame = new CFrameWnd;
    ASSERT_TRUE(pFrame->Create(NULL, "Frame", WS_OVERLAPPEDWINDOW, CRect(0, 0, 300, 200)));
    CExtControlBar bar;
    ASSERT_TRUE(bar.Create("Bar", pFrame, 0xE960, WS_CHILD | WS_VISIBLE | CBRS_LEFT));
    ASSERT_NE(nullptr, CExtCmdManager::g_pfnDockSiteOfBar);
    EXPECT_EQ(pFrame->m_hWnd, CExtCmdManager::g_pfnDockSiteOfBar(bar.m_hWnd));
    EXPECT_EQ(NULL, CExtCmdManager::g_pfnDockSiteOfBar(pFrame->m_hWnd));

    bar.m_nOptionFlags |= 0x02;
    EXPECT_EQ(bar.m_nOptionFlags, CExtPmNeighbours::BarOptions(&bar));
    EXPECT_EQ(bar.m_dwStyle, CExtPmNeighbours::BarStyle(&bar));
    EXPECT_EQ(static_cast<CWnd*>(pFrame), CExtPmNeighbours::DockSite(&bar));
    EXPECT_EQ(nullptr, CExtPmNeighbours::DockBar(&bar));
    EXPECT_EQ(bar.IsFloating(), CExtPmNeighbours::IsFloating(&bar));
    EXPECT_FALSE(CExtPmNeighbours::IsFixedMode(&bar));
    CExtToolControlBar tool;
    EXPECT_TRUE(CExtPmNeighbours::IsFixedMode(&tool));
    pFrame->EnableDocking(CBRS_ALIGN_ANY);
    bar.EnableDocking(CBRS_ALIGN_ANY);
    pFrame->DockControlBar(&bar, AFX_IDW_DOCKBAR_LEFT);
    EXPECT_TRUE(CExtPmNeighbours::IsDockedVertically(&bar));
    EXPECT_FALSE(CExtPmNeighbours::IsDockedHorizontally(&bar));
    EXPECT_TRUE(CExtPmNeighbours::IsDockedAtFrameSide(&bar));
    EXPECT_EQ(static_cast<CWnd*>(bar.m_pDockBar), CExtPmNeighbours::DockBar(&bar));
    pFrame->DestroyWindow();
}
