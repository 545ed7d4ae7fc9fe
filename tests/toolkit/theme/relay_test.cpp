// Which window of a frame relays a system change. The bars and dialogs that decide it
// live in libraries linked after the theme engine, which recognises the status bar by
// its run-time class name, the dock bars and mini dock frames by the classes of the bars'
// query table and the MDI tab window by the dialogs' query; here windows of stand-in
// classes play them (the status bar's with the real name), and the frames are the
// framework's own.
#include <gtest/gtest.h>
#include "theme_test_support.h"
#include "toolkit/theme/pm_neighbours.h"

#include <memory>
#include <vector>

namespace relaystub {

class MiniDockFrame : public CMiniFrameWnd
{
    DECLARE_DYNAMIC(MiniDockFrame)
};
class CExtStatusControlBar : public CWnd
{
    DECLARE_DYNAMIC(CExtStatusControlBar)
};
class DockOuterBar : public CWnd
{
    DECLARE_DYNAMIC(DockOuterBar)
};
class ToolBar : public CWnd
{
    DECLARE_DYNAMIC(ToolBar)
};
class FakeMdiTabs : public CWnd
{
    DECLARE_DYNAMIC(FakeMdiTabs)
public:
    bool m_bMdiTab = true;
};

IMPLEMENT_DYNAMIC(MiniDockFrame, CMiniFrameWnd)
IMPLEMENT_DYNAMIC(CExtStatusControlBar, CWnd)
IMPLEMENT_DYNAMIC(DockOuterBar, CWnd)
IMPLEMENT_DYNAMIC(ToolBar, CWnd)
IMPLEMENT_DYNAMIC(FakeMdiTabs, CWnd)

// The mini dock frame as the control bars declare it while their framework base is
// missing: a plain window class, not a frame.
namespace barsdecl {
class MiniDockFrame : public CWnd
{
    DECLARE_DYNAMIC(MiniDockFrame)
};
IMPLEMENT_DYNAMIC(MiniDockFrame, CWnd)
}  // namespace barsdecl

namespace {

// As the dialogs' query: false for any window that is no MDI tab window.
bool QueryMdiTab(CWnd* pWnd)
{
    FakeMdiTabs* pTabs = DYNAMIC_DOWNCAST(FakeMdiTabs, pWnd);
    return pTabs != NULL && pTabs->m_bMdiTab;
}

// Owns real windows bound to objects of the stand-in classes.
class Windows
{
public:
    ~Windows()
    {
        for (size_t i = m_objects.size(); i-- > 0;)
        {
            HWND hWnd = m_objects[i]->Detach();
            if (hWnd != NULL && ::IsWindow(hWnd))
                ::DestroyWindow(hWnd);
        }
    }
    template <class T>
    T* Frame(CWnd* pOwner = NULL)
    {
        return Make<T>(WS_POPUP, pOwner, 0);
    }
    template <class T>
    T* Child(CWnd* pParent, int nID)
    {
        return Make<T>(WS_CHILD | WS_VISIBLE, pParent, nID);
    }

private:
    template <class T>
    T* Make(DWORD dwStyle, CWnd* pParent, int nID)
    {
        T* p = new T;
        HWND hWnd = ::CreateWindowExA(0, "Static", "", dwStyle, 0, 0, 100, 100,
                                      pParent ? pParent->m_hWnd : NULL,
                                      (HMENU)(UINT_PTR)nID, ::GetModuleHandleA(NULL), NULL);
        p->Attach(hWnd);
        m_objects.emplace_back(p);
        return p;
    }
    std::vector<std::unique_ptr<CWnd>> m_objects;
};

class RelayTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_pfnSaved = CExtPaintManagerHolder::g_pfnQueryMdiTabRelay;
        CExtPaintManagerHolder::g_pfnQueryMdiTabRelay = QueryMdiTab;
        m_savedBars = CExtPmNeighbours::g_bars;
        CExtPmNeighbours::g_bars.pMiniDockFrameClass = RUNTIME_CLASS(MiniDockFrame);
        CExtPmNeighbours::g_bars.pDockOuterBarClass = RUNTIME_CLASS(DockOuterBar);
    }
    void TearDown() override
    {
        CExtPaintManagerHolder::g_pfnQueryMdiTabRelay = m_pfnSaved;
        CExtPmNeighbours::g_bars = m_savedBars;
    }
    CExtPaintManagerHolder::pfnQueryMdiTabRelay m_pfnSaved = NULL;
    CExtPmNeighbours::BarQueries m_savedBars;
};

class CountingBridge : public CExtPmBridge
{
public:
    CountingBridge() { RegisterWithHolder(); }
    ~CountingBridge() override { UnregisterFromHolder(); }
    void RegisterWithHolder() override { g_CurrentPaintManager.RegisterBridge(this); }
    void UnregisterFromHolder() override { g_CurrentPaintManager.UnregisterBridge(this); }
    HWND GetBridgeHwnd() override { return NULL; }
    CExtPaintManager* GetPaintManager() override { return g_CurrentPaintManager.GetPM(); }
    void OnSysColorsChanged(CExtPaintManager*, CWnd* pRelay) override
    {
        m_nCount++;
        m_pLastRelay = pRelay;
    }
    int m_nCount = 0;
    CWnd* m_pLastRelay = NULL;
};

}  // namespace

TEST_F(RelayTest, KindTestsFollowTheRunTimeClassChain)
{
    Windows w;
    MiniDockFrame* p = w.Frame<MiniDockFrame>();
    EXPECT_TRUE(CExtPaintManagerHolder::IsKindOfByName(p, "CFrameWnd"));
    EXPECT_TRUE(CExtPaintManagerHolder::IsKindOfByName(p, "CMiniFrameWnd"));
    EXPECT_TRUE(CExtPaintManagerHolder::IsKindOfByName(p, "CWnd"));
    EXPECT_FALSE(CExtPaintManagerHolder::IsKindOfByName(p, "CExtStatusControlBar"));
    EXPECT_FALSE(CExtPaintManagerHolder::IsKindOfByName(NULL, "CWnd"));
}

TEST_F(RelayTest, TheFramesStatusBarActsAndAToolbarInTheFrameDoesNot)
{
    Windows w;
    CFrameWnd* pFrame = w.Frame<CFrameWnd>();
    CExtStatusControlBar* pStatus = w.Child<CExtStatusControlBar>(pFrame, 0xE801);
    DockOuterBar* pDockTop = w.Child<DockOuterBar>(pFrame, 0xE81B);
    ToolBar* pToolbar = w.Child<ToolBar>(pDockTop, 0xE800);
    CExtStatusControlBar* pSecondStatus = w.Child<CExtStatusControlBar>(pFrame, 0x1234);
    EXPECT_TRUE(CExtPaintManagerHolder::IsSystemChangeRelay(pStatus));
    EXPECT_FALSE(CExtPaintManagerHolder::IsSystemChangeRelay(pToolbar));
    EXPECT_FALSE(CExtPaintManagerHolder::IsSystemChangeRelay(pDockTop));
    EXPECT_FALSE(CExtPaintManagerHolder::IsSystemChangeRelay(pFrame));
    EXPECT_TRUE(CExtPaintManagerHolder::IsSystemChangeRelay(pSecondStatus));

    // Every window of the frame forwards WM_SYSCOLORCHANGE; only one re-synchronises.
    CountingBridge bridge;
    CWnd* all[] = {pFrame, pStatus, pDockTop, pToolbar};
    for (CWnd* p : all)
        g_CurrentPaintManager.OnSysColorChange(p);
    EXPECT_EQ(1, bridge.m_nCount);
    EXPECT_EQ(pStatus, bridge.m_pLastRelay);
}

TEST_F(RelayTest, WithoutStatusBarTheOuterDockBarsDecideInTheirOrder)
{
    Windows w;
    CFrameWnd* pFrame = w.Frame<CFrameWnd>();
    DockOuterBar* pLeft = w.Child<DockOuterBar>(pFrame, 0xE81C);
    DockOuterBar* pBottom = w.Child<DockOuterBar>(pFrame, 0xE81E);
    // A window with a dock-bar id but another class is skipped.
    CWnd* pNotDockBar = w.Child<ToolBar>(pFrame, 0xE81B);
    // So is a status-bar id held by another class.
    CWnd* pNotStatus = w.Child<ToolBar>(pFrame, 0xE801);
    EXPECT_TRUE(CExtPaintManagerHolder::IsSystemChangeRelay(pBottom));
    EXPECT_FALSE(CExtPaintManagerHolder::IsSystemChangeRelay(pLeft));
    EXPECT_FALSE(CExtPaintManagerHolder::IsSystemChangeRelay(pNotDockBar));
    EXPECT_FALSE(CExtPaintManagerHolder::IsSystemChangeRelay(pNotStatus));
}

TEST_F(RelayTest, ThenTheFirstMdiTabWindowAndOtherwiseEveryWindow)
{
    Windows w;
    CFrameWnd* pFrame = w.Frame<CFrameWnd>();
    FakeMdiTabs* pNotMdi = w.Child<FakeMdiTabs>(pFrame, 100);
    pNotMdi->m_bMdiTab = false;
    FakeMdiTabs* pTabs = w.Child<FakeMdiTabs>(pFrame, 101);
    FakeMdiTabs* pSecondTabs = w.Child<FakeMdiTabs>(pFrame, 102);
    ToolBar* pOther = w.Child<ToolBar>(pFrame, 103);
    EXPECT_TRUE(CExtPaintManagerHolder::IsSystemChangeRelay(pTabs));
    EXPECT_FALSE(CExtPaintManagerHolder::IsSystemChangeRelay(pSecondTabs));
    EXPECT_FALSE(CExtPaintManagerHolder::IsSystemChangeRelay(pNotMdi));
    EXPECT_FALSE(CExtPaintManagerHolder::IsSystemChangeRelay(pOther));

    Windows w2;
    CFrameWnd* pBare = w2.Frame<CFrameWnd>();
    ToolBar* pA = w2.Child<ToolBar>(pBare, 1);
    ToolBar* pB = w2.Child<ToolBar>(pA, 2);
    EXPECT_TRUE(CExtPaintManagerHolder::IsSystemChangeRelay(pBare));
    EXPECT_TRUE(CExtPaintManagerHolder::IsSystemChangeRelay(pA));
    EXPECT_TRUE(CExtPaintManagerHolder::IsSystemChangeRelay(pB));
}

TEST_F(RelayTest, WindowsOutsideFramesAndInFloatingMiniFramesAlwaysAct)
{
    Windows w;
    CWnd* pLoose = w.Frame<ToolBar>();
    EXPECT_TRUE(CExtPaintManagerHolder::IsSystemChangeRelay(pLoose));

    CFrameWnd* pMain = w.Frame<CFrameWnd>();
    w.Child<CExtStatusControlBar>(pMain, 0xE801);
    MiniDockFrame* pMini = w.Frame<MiniDockFrame>(pMain);
    ToolBar* pFloating = w.Child<ToolBar>(pMini, 0xE800);
    EXPECT_TRUE(CExtPaintManagerHolder::IsSystemChangeRelay(pFloating));
    EXPECT_TRUE(CExtPaintManagerHolder::IsSystemChangeRelay(pMini));
    EXPECT_TRUE(CExtPaintManagerHolder::IsSystemChangeRelay(NULL));

    // A mini dock frame whose class does not descend from the frame class is still the
    // frame of the windows floating in it, not its owner's status bar frame.
    CExtPmNeighbours::g_bars.pMiniDockFrameClass = RUNTIME_CLASS(barsdecl::MiniDockFrame);
    barsdecl::MiniDockFrame* pMini2 = w.Frame<barsdecl::MiniDockFrame>(pMain);
    ToolBar* pFloating2 = w.Child<ToolBar>(pMini2, 0xE800);
    EXPECT_TRUE(CExtPaintManagerHolder::IsSystemChangeRelay(pFloating2));
    EXPECT_TRUE(CExtPaintManagerHolder::IsSystemChangeRelay(pMini2));
}

}  // namespace relaystub
