// Which window of a frame relays a system change. The bars and dialogs that decide it
// live in libraries linked after the theme engine, which recognises the bars by their
// run-time class names and the MDI tab window by the dialogs' query; here windows of
// stand-in classes with those names play the status bar, dock bars and toolbar, a
// stand-in that the query knows plays the MDI tab window, and the frames are the
// framework's own.
#include <gtest/gtest.h>
#include "theme_test_support.h"

#include <memory>
#include <vector>

namespace relaystub {

class CExtMiniDockFrameWnd : public CMiniFrameWnd
{
    DECLARE_DYNAMIC(CExtMiniDockFrameWnd)
};
class CExtStatusControlBar : public CWnd
{
    DECLARE_DYNAMIC(CExtStatusControlBar)
};
class CExtDockOuterBar : public CWnd
{
    DECLARE_DYNAMIC(CExtDockOuterBar)
};
class CExtToolControlBar : public CWnd
{
    DECLARE_DYNAMIC(CExtToolControlBar)
};
class FakeMdiTabs : public CWnd
{
    DECLARE_DYNAMIC(FakeMdiTabs)
public:
    bool m_bMdiTab = true;
};

IMPLEMENT_DYNAMIC(CExtMiniDockFrameWnd, CMiniFrameWnd)
IMPLEMENT_DYNAMIC(CExtStatusControlBar, CWnd)
IMPLEMENT_DYNAMIC(CExtDockOuterBar, CWnd)
IMPLEMENT_DYNAMIC(CExtToolControlBar, CWnd)
IMPLEMENT_DYNAMIC(FakeMdiTabs, CWnd)

// The mini dock frame as the control bars declare it while their framework base is
// missing: a plain window class, not a frame.
namespace barsdecl {
class CExtMiniDockFrameWnd : public CWnd
{
    DECLARE_DYNAMIC(CExtMiniDockFrameWnd)
};
IMPLEMENT_DYNAMIC(CExtMiniDockFrameWnd, CWnd)
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
    }
    void TearDown() override { CExtPaintManagerHolder::g_pfnQueryMdiTabRelay = m_pfnSaved; }
    CExtPaintManagerHolder::pfnQueryMdiTabRelay m_pfnSaved = NULL;
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
    CExtMiniDockFrameWnd* p = w.Frame<CExtMiniDockFrameWnd>();
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
    CExtDockOuterBar* pDockTop = w.Child<CExtDockOuterBar>(pFrame, 0xE81B);
    CExtToolControlBar* pToolbar = w.Child<CExtToolControlBar>(pDockTop, 0xE800);
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
    CExtDockOuterBar* pLeft = w.Child<CExtDockOuterBar>(pFrame, 0xE81C);
    CExtDockOuterBar* pBottom = w.Child<CExtDockOuterBar>(pFrame, 0xE81E);
    // A window with a dock-bar id but another class is skipped.
    CWnd* pNotDockBar = w.Child<CExtToolControlBar>(pFrame, 0xE81B);
    // So is a status-bar id held by another class.
    CWnd* pNotStatus = w.Child<CExtToolControlBar>(pFrame, 0xE801);
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
    CExtToolControlBar* pOther = w.Child<CExtToolControlBar>(pFrame, 103);
    EXPECT_TRUE(CExtPaintManagerHolder::IsSystemChangeRelay(pTabs));
    EXPECT_FALSE(CExtPaintManagerHolder::IsSystemChangeRelay(pSecondTabs));
    EXPECT_FALSE(CExtPaintManagerHolder::IsSystemChangeRelay(pNotMdi));
    EXPECT_FALSE(CExtPaintManagerHolder::IsSystemChangeRelay(pOther));

    Windows w2;
    CFrameWnd* pBare = w2.Frame<CFrameWnd>();
    CExtToolControlBar* pA = w2.Child<CExtToolControlBar>(pBare, 1);
    CExtToolControlBar* pB = w2.Child<CExtToolControlBar>(pA, 2);
    EXPECT_TRUE(CExtPaintManagerHolder::IsSystemChangeRelay(pBare));
    EXPECT_TRUE(CExtPaintManagerHolder::IsSystemChangeRelay(pA));
    EXPECT_TRUE(CExtPaintManagerHolder::IsSystemChangeRelay(pB));
}

TEST_F(RelayTest, WindowsOutsideFramesAndInFloatingMiniFramesAlwaysAct)
{
    Windows w;
    CWnd* pLoose = w.Frame<CExtToolControlBar>();
    EXPECT_TRUE(CExtPaintManagerHolder::IsSystemChangeRelay(pLoose));

    CFrameWnd* pMain = w.Frame<CFrameWnd>();
    w.Child<CExtStatusControlBar>(pMain, 0xE801);
    CExtMiniDockFrameWnd* pMini = w.Frame<CExtMiniDockFrameWnd>(pMain);
    CExtToolControlBar* pFloating = w.Child<CExtToolControlBar>(pMini, 0xE800);
    EXPECT_TRUE(CExtPaintManagerHolder::IsSystemChangeRelay(pFloating));
    EXPECT_TRUE(CExtPaintManagerHolder::IsSystemChangeRelay(pMini));
    EXPECT_TRUE(CExtPaintManagerHolder::IsSystemChangeRelay(NULL));

    // A mini dock frame whose class does not descend from the frame class is still the
    // frame of the windows floating in it, not its owner's status bar frame.
    barsdecl::CExtMiniDockFrameWnd* pMini2 = w.Frame<barsdecl::CExtMiniDockFrameWnd>(pMain);
    CExtToolControlBar* pFloating2 = w.Child<CExtToolControlBar>(pMini2, 0xE800);
    EXPECT_TRUE(CExtPaintManagerHolder::IsSystemChangeRelay(pFloating2));
    EXPECT_TRUE(CExtPaintManagerHolder::IsSystemChangeRelay(pMini2));
}

}  // namespace relaystub
