// The non-client frame mix-in: inactive in every theme, caption-button tips, system
// command tests, hover tracking, and the re-framing when another theme is installed.
#include <gtest/gtest.h>
#include "theme_test_support.h"
#include "support/message_pump.h"
#include "toolkit/theme/nc_frame_impl.h"

namespace {

class TestFrame : public CWnd, public CExtNcFrameImpl
{
public:
    HWND GetFrameHwnd() const override { return m_hWnd; }
    bool Make(DWORD dwStyle)
    {
        const BOOL bOk = CreateEx(0, _T("Static"), _T("frame"), dwStyle, CRect(50, 60, 350, 260), NULL, 0);
        if (bOk)
            InitNcFrame();
        return bOk != FALSE;
    }
};

struct OwnedCounter
{
    HWND hOwner;
    int nCount;
};

BOOL CALLBACK CountOwned(HWND hWnd, LPARAM lParam)
{
    OwnedCounter* p = (OwnedCounter*)lParam;
    if (::GetWindow(hWnd, GW_OWNER) == p->hOwner)
        p->nCount++;
    return TRUE;
}

class NcFrame : public ::testing::Test
{
protected:
    void TearDown() override
    {
        if (m_frame.GetSafeHwnd() != NULL)
            m_frame.DestroyWindow();
        themetest::InstallTheme(RUNTIME_CLASS(CExtPaintManagerXP));
    }
    TestFrame m_frame;
};

}  // namespace

TEST_F(NcFrame, NeverActiveInTheThemesOfThisProgram)
{
    EXPECT_FALSE(m_frame.IsNcFrameActive()) << "no window";
    ASSERT_TRUE(m_frame.Make(WS_POPUP | WS_CAPTION | WS_SYSMENU));
    for (CRuntimeClass* pClass : {RUNTIME_CLASS(CExtPaintManager), RUNTIME_CLASS(CExtPaintManagerXP),
                                  RUNTIME_CLASS(CExtPaintManagerOffice2003),
                                  RUNTIME_CLASS(CExtPaintManagerStudio2005)})
    {
        themetest::InstallTheme(pClass);
        EXPECT_FALSE(m_frame.IsNcFrameActive()) << pClass->m_lpszClassName;
    }
    EXPECT_FALSE(m_frame.QueryNcFrameMarginsOwn());
    EXPECT_FALSE(m_frame.GetNcStateFlag());
    LRESULT lResult = 0;
    EXPECT_TRUE(m_frame.FrameWindowProcHook(lResult, WM_NCACTIVATE, TRUE, 0));
    EXPECT_EQ(TRUE, lResult) << "the themed path draws its own caption";
}

TEST_F(NcFrame, CaptionButtonTips)
{
    ASSERT_TRUE(m_frame.Make(WS_POPUP | WS_CAPTION | WS_SYSMENU));
    ASSERT_TRUE(m_frame.GetCaptionButtonTip(SC_MINIMIZE) != NULL);
    EXPECT_STREQ("Minimize", *m_frame.GetCaptionButtonTip(SC_MINIMIZE));
    EXPECT_STREQ("Maximize", *m_frame.GetCaptionButtonTip(SC_MAXIMIZE));
    EXPECT_STREQ("Maximize", *m_frame.GetCaptionButtonTip(SC_RESTORE)) << "not zoomed";
    EXPECT_STREQ("Close", *m_frame.GetCaptionButtonTip(SC_CLOSE));
    EXPECT_TRUE(m_frame.GetCaptionButtonTip(SC_MOVE) == NULL);
}

TEST_F(NcFrame, SystemCommandsFollowTheWindowStyle)
{
    EXPECT_FALSE(m_frame.IsSysCommandEnabled(SC_MOVE)) << "no window";
    ASSERT_TRUE(m_frame.Make(WS_POPUP | WS_CAPTION | WS_SYSMENU));
    EXPECT_FALSE(m_frame.IsSysCommandEnabled(SC_MINIMIZE));
    EXPECT_FALSE(m_frame.IsSysCommandEnabled(SC_MAXIMIZE));
    EXPECT_TRUE(m_frame.IsSysCommandEnabled(SC_CLOSE));
    m_frame.ModifyStyle(0, WS_MINIMIZEBOX | WS_MAXIMIZEBOX);
    EXPECT_TRUE(m_frame.IsSysCommandEnabled(SC_MINIMIZE));
    EXPECT_TRUE(m_frame.IsSysCommandEnabled(SC_MAXIMIZE));
    EXPECT_TRUE(m_frame.IsSysCommandEnabled(SC_RESTORE));
}

TEST_F(NcFrame, HoverAndResetState)
{
    ASSERT_TRUE(m_frame.Make(WS_POPUP | WS_CAPTION | WS_SYSMENU));
    m_frame.m_ptLastHover = CPoint(5, 5);
    m_frame.m_nLastHoverHitTest = HTCLOSE;
    EXPECT_EQ(-32767, m_frame.TrackNcHover(5, 5, HTCLOSE)) << "inactive frames track nothing";
    EXPECT_EQ(0, m_frame.m_nLastHoverHitTest);
    EXPECT_EQ(CPoint(-32767, -32767), m_frame.m_ptLastHover);
    m_frame.m_ptLastHover = CPoint(1, 1);
    m_frame.m_dwNcStateFlags |= CExtNcFrameImpl::__ENCF_REGION_SET;
    m_frame.ResetNcFrame();
    EXPECT_EQ(CPoint(-32767, -32767), m_frame.m_ptLastHover);
    EXPECT_EQ(0u, m_frame.m_dwNcStateFlags & CExtNcFrameImpl::__ENCF_REGION_SET);
    {
        CExtNcFrameImpl::BusyLock lock(m_frame);
        EXPECT_FALSE(m_frame.RecalcFrame()) << "busy";
    }
    EXPECT_EQ(0, m_frame.m_nBusy);
    EXPECT_TRUE(m_frame.RecalcFrame());
}

TEST_F(NcFrame, BridgeFollowsTheFrame)
{
    const int nBefore = g_CurrentPaintManager.GetBridgeCount();
    {
        TestFrame other;
        EXPECT_TRUE(g_CurrentPaintManager.IsBridgeRegistered(&other.m_BridgeNC));
        EXPECT_EQ(nBefore + 1, g_CurrentPaintManager.GetBridgeCount());
        EXPECT_TRUE(other.m_BridgeNC.GetBridgeHwnd() == NULL);
    }
    EXPECT_EQ(nBefore, g_CurrentPaintManager.GetBridgeCount());
}

TEST_F(NcFrame, InstallingAThemeKeepsTheStandardFrame)
{
    ASSERT_TRUE(m_frame.Make(WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_BORDER));
    EXPECT_NE(0u, m_frame.m_dwSavedStyle & WS_BORDER);
    m_frame.ShowWindow(SW_SHOWNORMAL);
    testsupport::PumpPending();
    RECT rcBefore;
    m_frame.GetWindowRect(&rcBefore);
    themetest::InstallTheme(RUNTIME_CLASS(CExtPaintManagerOffice2003));
    RECT rcAfter;
    m_frame.GetWindowRect(&rcAfter);
    EXPECT_TRUE(::EqualRect(&rcBefore, &rcAfter)) << "nudged by a pixel and back";
    EXPECT_NE(0, m_frame.GetStyle() & WS_BORDER) << "the saved border is kept";
    EXPECT_EQ(0, m_frame.m_nBusy);
    EXPECT_EQ(0u, m_frame.m_dwNcStateFlags & CExtNcFrameImpl::__ENCF_REGION_SET);
    OwnedCounter counter = {m_frame.GetSafeHwnd(), 0};
    ::EnumThreadWindows(::GetCurrentThreadId(), &CountOwned, (LPARAM)&counter);
    EXPECT_EQ(0, counter.nCount) << "the cover window is gone";
}
