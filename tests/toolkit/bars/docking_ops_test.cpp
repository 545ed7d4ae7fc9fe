// Docking operations on a frame: docking at each side, beside another bar, floating and
// back, and tabbed groups (forming, switching, reordering, merging, floating a page).
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <vector>

#include "framework/afxres.h"
#include "framework/framework.h"
#include "tests/support/message_pump.h"
#include "toolkit/bars/auto_hide.h"
#include "toolkit/bars/control_bar.h"
#include "toolkit/bars/dyn_control_bar.h"
#include "toolkit/bars/dyn_tab_control_bar.h"
#include "toolkit/bars/dynamic_bar.h"
#include "poisoned_bars.h"

namespace {

struct DockFrame
{
    CFrameWnd* pFrame;
    CExtControlBar bars[3];
    DockFrame()
    {
        pFrame = new CFrameWnd;
        pFrame->Create(NULL, "Docking", WS_OVERLAPPEDWINDOW, CRect(20, 20, 620, 470));
        CExtControlBar::EnableFrameDocking(pFrame);
        const char* const names[3] = {"One", "Two", "Three"};
        for (int i = 0; i < 3; i++)
        {
            bars[i].Create(names[i], pFrame, UINT(51000 + i), WS_CHILD | WS_VISIBLE | CBRS_LEFT | CBRS_GRIPPER);
            bars[i].EnableDocking(CBRS_ALIGN_ANY);
            bars[i].m_bAutoDelete = FALSE;
        }
        pFrame->ShowWindow(SW_SHOWNA);
        for (int i = 0; i < 3; i++)
            bars[i].DockAtFrameSide(AFX_IDW_DOCKBAR_LEFT);
        pFrame->RecalcLayout(TRUE);
        testsupport::PumpPending();
    }
    ~DockFrame()
    {
        if (::IsWindow(pFrame->m_hWnd))
            pFrame->DestroyWindow();
    }
    CRect ClientRectOf(CWnd* pWnd, CWnd* pIn) const
    {
        CRect rc;
        pWnd->GetWindowRect(&rc);
        pIn->ScreenToClient(&rc);
        return rc;
    }
};

CExtDynTabControlBar* MakeGroup(DockFrame& f)
{
    EXPECT_TRUE(f.bars[0].DockIntoTabbedBar(&f.bars[1], -1, NULL, true));
    testsupport::PumpPending();
    return f.bars[0].GetTabbedContainer();
}

}  // namespace

TEST(DockingOps, DockAtEachSideLandsInThatDockBarAndSide)
{
    struct Case
    {
        UINT nID;
        bool bHorz;
    } cases[] = {{AFX_IDW_DOCKBAR_TOP, true}, {AFX_IDW_DOCKBAR_BOTTOM, true}, {AFX_IDW_DOCKBAR_LEFT, false},
                 {AFX_IDW_DOCKBAR_RIGHT, false}};
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.nID);
        DockFrame f;
        ASSERT_TRUE(f.bars[0].DockAtFrameSide(c.nID));
        testsupport::PumpPending();
        EXPECT_EQ(c.nID, f.bars[0].GetDockBarCtrlID());
        EXPECT_EQ(c.bHorz, f.bars[0].IsDockedHorizontally());
        CRect rcClient, rcBar;
        f.pFrame->GetClientRect(&rcClient);
        rcBar = f.ClientRectOf(&f.bars[0], f.pFrame);
        // The bar lies against its side of the frame.
        switch (c.nID)
        {
        case AFX_IDW_DOCKBAR_TOP: EXPECT_EQ(rcClient.top, rcBar.top); break;
        case AFX_IDW_DOCKBAR_BOTTOM: EXPECT_EQ(rcClient.bottom, rcBar.bottom); break;
        case AFX_IDW_DOCKBAR_LEFT: EXPECT_EQ(rcClient.left, rcBar.left); break;
        default: EXPECT_EQ(rcClient.right, rcBar.right); break;
        }
    }
}

TEST(DockingOps, DockNextToSplitsTheTargetsPlaceInHalves)
{
    struct Case
    {
        UINT nSide;
        bool bIncomingFirst;
        bool bStacked;  // one above the other
    } cases[] = {{AFX_IDW_DOCKBAR_TOP, true, true}, {AFX_IDW_DOCKBAR_BOTTOM, false, true},
                 {AFX_IDW_DOCKBAR_LEFT, true, false}, {AFX_IDW_DOCKBAR_RIGHT, false, false}};
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.nSide);
        DockFrame f;
        CRect rcTarget = f.ClientRectOf(&f.bars[0], f.pFrame);
        ASSERT_TRUE(f.bars[2].DockNextTo(&f.bars[0], c.nSide));
        testsupport::PumpPending();
        CExtDynControlBar* pBox = DYNAMIC_DOWNCAST(CExtDynControlBar, f.bars[0].m_pDockBar->GetParent());
        ASSERT_TRUE(pBox != NULL);
        EXPECT_EQ(pBox->m_pWndDynDocker, f.bars[2].m_pDockBar);
        CArray<CExtControlBar*, CExtControlBar*> arr;
        pBox->GetInnerBars(arr);
        ASSERT_EQ(2, arr.GetSize());
        EXPECT_EQ(c.bIncomingFirst ? &f.bars[2] : &f.bars[0], arr[0]);
        CRect rcA = f.ClientRectOf(arr[0], f.pFrame), rcB = f.ClientRectOf(arr[1], f.pFrame);
        CRect rcBox = f.ClientRectOf(pBox, f.pFrame);
        if (c.bStacked)
        {
            EXPECT_EQ(rcA.bottom, rcB.top);
            EXPECT_EQ(rcA.Width(), rcB.Width());
            EXPECT_LE(abs(rcA.Height() - rcB.Height()), 1);
        }
        else
        {
            EXPECT_EQ(rcA.right, rcB.left);
            EXPECT_LE(abs(rcA.Width() - rcB.Width()), 1);
        }
        EXPECT_EQ(rcTarget.Size(), rcBox.Size());
        EXPECT_FALSE(f.bars[2].IsFloating());
    }
}

TEST(DockingOps, FloatAndDockBack)
{
    DockFrame f;
    CExtControlBar& bar = f.bars[1];
    ASSERT_TRUE(bar.FloatControlBar(300, 200));
    testsupport::PumpPending();
    EXPECT_TRUE(bar.IsFloating());
    EXPECT_EQ(UINT(AFX_IDW_DOCKBAR_FLOAT), bar.GetDockBarCtrlID());
    EXPECT_EQ(CPoint(300, 200), bar.m_ptFloatPos);
    CFrameWnd* pMini = bar.GetParentFrame();
    ASSERT_TRUE(pMini != NULL && pMini->IsKindOf(RUNTIME_CLASS(CExtMiniDockFrameWnd)));
    CRect rcMini;
    pMini->GetWindowRect(&rcMini);
    EXPECT_EQ(CPoint(300, 200), rcMini.TopLeft());
    EXPECT_TRUE(CExtControlBar::g_pBarBeingFloated == NULL);
    // Floating again only moves the same frame.
    const HWND hWndMini = pMini->m_hWnd;
    ASSERT_TRUE(bar.FloatControlBar(340, 220));
    pMini->GetWindowRect(&rcMini);
    EXPECT_EQ(hWndMini, bar.GetParentFrame()->m_hWnd);
    EXPECT_EQ(CPoint(340, 220), rcMini.TopLeft());

    ASSERT_TRUE(bar.DockAtFrameSide(AFX_IDW_DOCKBAR_RIGHT));
    testsupport::PumpPending();
    EXPECT_FALSE(bar.IsFloating());
    EXPECT_EQ(UINT(AFX_IDW_DOCKBAR_RIGHT), bar.GetDockBarCtrlID());
    EXPECT_EQ(f.pFrame, bar.GetParentFrame());
}

TEST(DockingOps, TabbedGroupFormsShowsItsStripAndSwitchesPages)
{
    DockFrame f;
    CExtDynTabControlBar* pGroup = MakeGroup(f);
    ASSERT_TRUE(pGroup != NULL);
    EXPECT_EQ(pGroup, f.bars[1].GetTabbedContainer());
    CExtDynTabWnd& strip = pGroup->m_wndTabSwitcher;
    ASSERT_EQ(2, strip.ItemGetCount());
    EXPECT_EQ(&f.bars[0], strip.GetItemBar(0));
    EXPECT_EQ(&f.bars[1], strip.GetItemBar(1));
    EXPECT_EQ(0, strip.SelectionGet());
    EXPECT_TRUE(strip.IsWindowVisible());
    EXPECT_EQ(UINT(AFX_IDW_DOCKBAR_LEFT), pGroup->GetDockBarCtrlID());
    // Both pages cover the area above the strip; the strip is its height plus 1.
    CRect rcA = f.ClientRectOf(&f.bars[0], pGroup), rcB = f.ClientRectOf(&f.bars[1], pGroup);
    CRect rcStrip = f.ClientRectOf(&strip, pGroup), rcGroup;
    pGroup->GetClientRect(&rcGroup);
    EXPECT_EQ(rcA, rcB);
    EXPECT_EQ(rcStrip.top, rcA.bottom);
    EXPECT_EQ(rcGroup.bottom, rcStrip.bottom);
    EXPECT_EQ(pGroup->GetTabStripHeight() + 1, rcStrip.Height());
    EXPECT_STREQ("One", strip.OnTabWndQueryItemText(strip.ItemGet(0)));
    EXPECT_STREQ("Two", strip.OnTabWndQueryItemText(strip.ItemGet(1)));

    struct Step
    {
        int nSelect;
        const char* sCaption;
    } steps[] = {{1, "Two"}, {0, "One"}, {1, "Two"}};
    for (const Step& s : steps)
    {
        SCOPED_TRACE(s.nSelect);
        strip.SelectionSet(s.nSelect, true, true);
        testsupport::PumpPending();
        // The selected page is on top of its siblings and gives the group its caption.
        CExtControlBar* pPage = strip.GetItemBar(s.nSelect);
        EXPECT_EQ(pPage->m_hWnd, ::GetWindow(pGroup->m_pWndDynDocker->m_hWnd, GW_CHILD));
        CString sCaption;
        EXPECT_EQ(int(strlen(s.sCaption)), pGroup->OnGetBarCaptionText(0, sCaption));
        EXPECT_STREQ(s.sCaption, sCaption);
    }
}

TEST(DockingOps, KeyboardSwitchWrapsAndSkipsHiddenPages)
{
    DockFrame f;
    CExtDynTabControlBar* pGroup = MakeGroup(f);
    ASSERT_TRUE(pGroup != NULL);
    ASSERT_TRUE(pGroup->DockIntoTabbedBar(&f.bars[2], -1, NULL, true));
    CExtDynTabWnd& strip = pGroup->m_wndTabSwitcher;
    ASSERT_EQ(3, strip.ItemGetCount());
    struct Case
    {
        int nSel;
        int nStep;
        bool bHideSecond;
        int nExpected;
    } cases[] = {{2, 1, false, 0}, {0, -1, false, 2}, {0, 1, true, 2}, {2, -1, true, 0}, {1, 1, false, 2}};
    for (const Case& c : cases)
    {
        SCOPED_TRACE(testing::Message() << c.nSel << "/" << c.nStep << "/" << c.bHideSecond);
        f.pFrame->ShowControlBar(&f.bars[1], !c.bHideSecond, FALSE);
        strip.SelectionSet(c.nSel, false, false);
        EXPECT_EQ(c.nExpected, strip.FindSwitchTarget(c.nStep));
    }
    // Only the selected page is left visible: the walk comes back and finds nothing.
    f.pFrame->ShowControlBar(&f.bars[1], FALSE, FALSE);
    f.pFrame->ShowControlBar(&f.bars[2], FALSE, FALSE);
    strip.SelectionSet(0, false, false);
    EXPECT_EQ(-1, strip.FindSwitchTarget(1));
}

TEST(DockingOps, ReorderMergeAndFloatAPage)
{
    DockFrame f;
    CExtDynTabControlBar* pGroup = MakeGroup(f);
    ASSERT_TRUE(pGroup != NULL);
    CExtDynTabWnd& strip = pGroup->m_wndTabSwitcher;
    // Dropping a page of the group at tab 0 moves its tab there.
    ASSERT_TRUE(pGroup->DockIntoTabbedBar(&f.bars[1], 0, NULL, true));
    ASSERT_EQ(2, strip.ItemGetCount());
    EXPECT_EQ(&f.bars[1], strip.GetItemBar(0));
    EXPECT_EQ(&f.bars[0], strip.GetItemBar(1));

    // One moves into a new group with Three; then that group merges into the first.
    ASSERT_TRUE(f.bars[2].DockIntoTabbedBar(&f.bars[0], -1, NULL, true));
    testsupport::PumpPending();
    EXPECT_EQ(1, strip.ItemGetCount());
    CExtDynTabControlBar* pOther = f.bars[2].GetTabbedContainer();
    ASSERT_TRUE(pOther != NULL && pOther != pGroup);
    const HWND hWndOther = pOther->m_hWnd;
    // A group of one page hides its strip.
    pGroup->ResizeContentWindow(-1, -1, true);
    EXPECT_FALSE(strip.IsWindowVisible());
    ASSERT_TRUE(pGroup->DockIntoTabbedBar(pOther, 1, NULL, true));
    testsupport::PumpPending();
    EXPECT_FALSE(::IsWindow(hWndOther));
    ASSERT_EQ(3, strip.ItemGetCount());
    EXPECT_EQ(&f.bars[1], strip.GetItemBar(0));
    EXPECT_EQ(&f.bars[2], strip.GetItemBar(1));
    EXPECT_EQ(&f.bars[0], strip.GetItemBar(2));
    EXPECT_EQ(pGroup, f.bars[0].GetTabbedContainer());

    // Floating a page takes its tab out of the group.
    ASSERT_TRUE(f.bars[2].FloatControlBar(320, 240));
    testsupport::PumpPending();
    EXPECT_EQ(-1, pGroup->GetBarTabIndex(&f.bars[2]));
    EXPECT_EQ(2, strip.ItemGetCount());
    EXPECT_TRUE(f.bars[2].GetTabbedContainer() == NULL);
    EXPECT_TRUE(f.bars[2].IsFloating());
}

TEST(DockingOps, HidingAndShowingAPageFollowsOnItsTab)
{
    DockFrame f;
    CExtDynTabControlBar* pGroup = MakeGroup(f);
    ASSERT_TRUE(pGroup != NULL);
    CExtDynTabWnd& strip = pGroup->m_wndTabSwitcher;
    strip.SelectionSet(1, true, true);
    struct Step
    {
        CExtControlBar* pBar;
        BOOL bShow;
        bool bTabVisible;
        int nSelected;
    } steps[] = {{&f.bars[1], FALSE, false, 0}, {&f.bars[1], TRUE, true, 1}, {&f.bars[0], FALSE, false, 1}};
    for (const Step& s : steps)
    {
        SCOPED_TRACE(testing::Message() << s.pBar->GetDlgCtrlID() << (s.bShow ? " shown" : " hidden"));
        f.pFrame->ShowControlBar(s.pBar, s.bShow, FALSE);
        testsupport::PumpPending();
        EXPECT_EQ(s.bTabVisible, strip.ItemGet(pGroup->GetBarTabIndex(s.pBar))->VisibleGet());
        EXPECT_EQ(s.nSelected, strip.SelectionGet());
    }
}

namespace {

// Records whether the dock site was marked while the bar synchronised its visibility.
class MarkerProbeBar : public CExtControlBar
{
public:
    int m_nCalls = 0, m_nMarked = 0;
    void OnBarVisibilityChanged() override
    {
        m_nCalls++;
        if (IsDockSiteInVisibilitySync(m_pDockSite))
            m_nMarked++;
        CExtControlBar::OnBarVisibilityChanged();
    }
};

}  // namespace

TEST(DockingOps, AutoHideChangeMarksTheDockSiteOnlyWhileItSynchronises)
{
    CFrameWnd* pFrame = new CFrameWnd;
    pFrame->Create(NULL, "Marker", WS_OVERLAPPEDWINDOW, CRect(20, 20, 520, 420));
    CExtControlBar::EnableFrameDocking(pFrame);
    ASSERT_TRUE(CExtDynAutoHideArea::CreateFrameAreas(pFrame));
    MarkerProbeBar bar;
    bar.m_bAutoDelete = FALSE;
    ASSERT_TRUE(bar.Create("Probe", pFrame, 51010, WS_CHILD | WS_VISIBLE | CBRS_LEFT));
    bar.EnableDocking(CBRS_ALIGN_ANY);
    pFrame->ShowWindow(SW_SHOWNA);
    ASSERT_TRUE(bar.DockAtFrameSide(AFX_IDW_DOCKBAR_LEFT));
    testsupport::PumpPending();
    // Nested marks count, and the last one gone leaves the site unmarked.
    {
        CExtControlBar::VisibilitySyncScope outer(pFrame);
        {
            CExtControlBar::VisibilitySyncScope inner(pFrame);
        }
        EXPECT_TRUE(CExtControlBar::IsDockSiteInVisibilitySync(pFrame));
    }
    EXPECT_FALSE(CExtControlBar::IsDockSiteInVisibilitySync(pFrame));

    bar.m_nCalls = bar.m_nMarked = 0;
    ASSERT_TRUE(bar.AutoHideModeSet(true, false, true, false));
    EXPECT_TRUE(bar.AutoHideModeGet());
    // Exactly the synchronisation the change runs itself sees the mark.
    EXPECT_EQ(1, bar.m_nMarked);
    EXPECT_FALSE(CExtControlBar::IsDockSiteInVisibilitySync(pFrame));
    ASSERT_TRUE(bar.AutoHideModeSet(false, false, true, true));
    EXPECT_FALSE(bar.AutoHideModeGet());
    EXPECT_FALSE(CExtControlBar::IsDockSiteInVisibilitySync(pFrame));
    pFrame->DestroyWindow();
}

TEST(DockingOps, GroupsFloatWholeAndTabsFloatTheirPage)
{
    DockFrame f;
    CExtDynTabControlBar* pGroup = MakeGroup(f);
    ASSERT_TRUE(pGroup != NULL);
    CExtDynTabWnd& strip = pGroup->m_wndTabSwitcher;

    // A floating bar joins the group and its empty mini frame goes away.
    ASSERT_TRUE(f.bars[2].FloatControlBar(330, 250));
    testsupport::PumpPending();
    const HWND hWndMini = f.bars[2].GetParentFrame()->m_hWnd;
    ASSERT_TRUE(pGroup->DockIntoTabbedBar(&f.bars[2], -1, NULL, true));
    testsupport::PumpPending();
    EXPECT_EQ(pGroup, f.bars[2].GetTabbedContainer());
    EXPECT_EQ(2, pGroup->GetBarTabIndex(&f.bars[2]));
    EXPECT_TRUE(!::IsWindow(hWndMini) || !::IsWindowVisible(hWndMini));

    // The whole group floats and docks again with its pages.
    ASSERT_TRUE(pGroup->FloatControlBar(300, 200));
    testsupport::PumpPending();
    EXPECT_TRUE(pGroup->IsFloating());
    // Its floating frame is named after the selected page, the one that joined last.
    CExtMiniDockFrameWnd* pMini = DYNAMIC_DOWNCAST(CExtMiniDockFrameWnd, pGroup->GetParentFrame());
    ASSERT_TRUE(pMini != NULL);
    CString sCaption;
    pMini->QueryCaptionText(sCaption);
    EXPECT_STREQ("Three", sCaption);
    EXPECT_EQ(3, strip.ItemGetCount());
    ASSERT_TRUE(pGroup->DockAtFrameSide(AFX_IDW_DOCKBAR_RIGHT));
    testsupport::PumpPending();
    EXPECT_EQ(UINT(AFX_IDW_DOCKBAR_RIGHT), pGroup->GetDockBarCtrlID());
    EXPECT_EQ(pGroup, f.bars[0].GetTabbedContainer());

    // A double click on a tab floats that page at its floating position.
    f.bars[1].m_ptFloatPos = CPoint(280, 180);
    pGroup->ResizeContentWindow(-1, -1, true);
    testsupport::PumpPending();
    const int nIndex = pGroup->GetBarTabIndex(&f.bars[1]);
    ASSERT_GE(nIndex, 0);
    const CPoint ptTab = strip.ItemGet(nIndex)->ItemRectGet().CenterPoint();
    ASSERT_EQ(nIndex, strip.ItemHitTest(ptTab));
    strip.SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(ptTab.x, ptTab.y));
    testsupport::PumpPending();
    EXPECT_TRUE(f.bars[1].GetTabbedContainer() == NULL);
    EXPECT_EQ(UINT(AFX_IDW_DOCKBAR_FLOAT), f.bars[1].GetDockBarCtrlID());
    CRect rcMini;
    f.bars[1].GetParentFrame()->GetWindowRect(&rcMini);
    EXPECT_EQ(CPoint(280, 180), rcMini.TopLeft());
    EXPECT_EQ(2, strip.ItemGetCount());
}

TEST(DockingOps, CtrlPageKeysReachTheStripThroughAPage)
{
    DockFrame f;
    CExtDynTabControlBar* pGroup = MakeGroup(f);
    ASSERT_TRUE(pGroup != NULL);
    ASSERT_TRUE(pGroup->DockIntoTabbedBar(&f.bars[2], -1, NULL, true));
    CExtDynTabWnd& strip = pGroup->m_wndTabSwitcher;
    strip.SelectionSet(0, true, true);
    ::SetForegroundWindow(f.pFrame->m_hWnd);
    f.pFrame->SetActiveWindow();
    f.bars[0].SetFocus();
    auto key = [](WORD vk, bool bUp) {
        INPUT in = {};
        in.type = INPUT_KEYBOARD;
        in.ki.wVk = vk;
        in.ki.dwFlags = bUp ? KEYEVENTF_KEYUP : 0;
        ::SendInput(1, &in, sizeof(in));
    };
    key(VK_CONTROL, false);
    testsupport::PumpUntil([] { return ::GetKeyState(VK_CONTROL) < 0; }, 1000);
    struct Case
    {
        WPARAM vk;
        int nExpected;
    } cases[] = {{VK_NEXT, 1}, {VK_NEXT, 2}, {VK_NEXT, 0}, {VK_PRIOR, 2}, {'A', 2}};
    for (const Case& c : cases)
    {
        SCOPED_TRACE(testing::Message() << c.vk << " -> " << c.nExpected);
        CExtControlBar* pPage = strip.GetItemBar(strip.SelectionGet());
        MSG msg = {pPage->m_hWnd, WM_KEYDOWN, c.vk, 0, 0, {0, 0}};
        if (c.vk == 'A')
            EXPECT_FALSE(strip.ProcessKeyboardSwitch(&msg));  // other keys go on
        else
            EXPECT_TRUE(pPage->PreTranslateMessage(&msg));
        EXPECT_EQ(c.nExpected, strip.SelectionGet());
    }
    key(VK_CONTROL, true);
    testsupport::PumpUntil([] { return ::GetKeyState(VK_CONTROL) >= 0; }, 1000);
    // Without Ctrl the key goes on.
    MSG msg = {f.bars[0].m_hWnd, WM_KEYDOWN, VK_NEXT, 0, 0, {0, 0}};
    EXPECT_FALSE(strip.ProcessKeyboardSwitch(&msg));
}

namespace {

// A frame that makes the tabbed groups itself.
class OwnGroupsFrame : public CFrameWnd
{
public:
    int m_nAsked = 0;
    LRESULT WindowProc(UINT nMsg, WPARAM wParam, LPARAM lParam) override
    {
        if (nMsg == CExtControlBar::g_nMsgCreateTabbedBar)
        {
            m_nAsked++;
            *reinterpret_cast<CExtDynTabControlBar**>(wParam) = new CExtDynamicTabbedControlBar;
            return 0;
        }
        return CFrameWnd::WindowProc(nMsg, wParam, lParam);
    }
};

}  // namespace

TEST(DockingOps, FrameMadeDynamicGroupTakesOnlyDockedDynamicBars)
{
    OwnGroupsFrame* pFrame = new OwnGroupsFrame;
    pFrame->Create(NULL, "Own groups", WS_OVERLAPPEDWINDOW, CRect(20, 20, 520, 420));
    CExtControlBar::EnableFrameDocking(pFrame);
    CExtControlBar a, b;
    for (CExtControlBar* p : {&a, &b})
    {
        p->m_bAutoDelete = FALSE;
        ASSERT_TRUE(p->Create(p == &a ? "A" : "B", pFrame, p == &a ? 51020 : 51021, WS_CHILD | WS_VISIBLE | CBRS_LEFT));
        p->EnableDocking(CBRS_ALIGN_ANY);
    }
    pFrame->ShowWindow(SW_SHOWNA);
    a.DockAtFrameSide(AFX_IDW_DOCKBAR_LEFT);
    b.DockAtFrameSide(AFX_IDW_DOCKBAR_LEFT);
    ASSERT_TRUE(a.DockIntoTabbedBar(&b, -1, NULL, true));
    EXPECT_EQ(1, pFrame->m_nAsked);
    CExtDynamicTabbedControlBar* pGroup = DYNAMIC_DOWNCAST(CExtDynamicTabbedControlBar, a.GetTabbedContainer());
    ASSERT_TRUE(pGroup != NULL);
    ASSERT_EQ(3, pGroup->m_vNcAreaButtons.GetSize());
    EXPECT_TRUE(pGroup->m_vNcAreaButtons[0]->IsKindOf(RUNTIME_CLASS(CExtDynamicBarNcAreaButtonClose)));
    EXPECT_TRUE(pGroup->m_vNcAreaButtons[2]->IsKindOf(RUNTIME_CLASS(CExtDynamicBarNcAreaButtonMenu)));

    CExtDynamicControlBar dyn;
    struct Case
    {
        DWORD dwState;
        bool bMate;
    } cases[] = {{CExtDynamicControlBar::__EDBS_DOCKED, true},
                 {CExtDynamicControlBar::__EDBS_FLOATING, false},
                 {CExtDynamicControlBar::__EDBS_DOCUMENT, false},
                 {CExtDynamicControlBar::__EDBS_AUTO_HIDDEN, false}};
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.dwState);
        dyn.m_eBarState = c.dwState;
        EXPECT_EQ(c.bMate, pGroup->IsTabMateAllowed(&dyn));
    }
    EXPECT_TRUE(pGroup->IsTabMateAllowed(&a));
    pFrame->DestroyWindow();
}

TEST(DockingOps, DockBesideBarPicksTheSideFromWhereTheTargetLies)
{
    enum { kAbove, kBelow, kLeft, kRight };
    struct Case
    {
        UINT nSide;
        bool bAlong, bLeading;
        int nWhere;  // where the incoming bar lands relative to the target
    } cases[] = {
        {AFX_IDW_DOCKBAR_TOP, true, true, kLeft},      {AFX_IDW_DOCKBAR_TOP, true, false, kRight},
        {AFX_IDW_DOCKBAR_TOP, false, true, kBelow},    {AFX_IDW_DOCKBAR_TOP, false, false, kAbove},
        {AFX_IDW_DOCKBAR_BOTTOM, false, true, kAbove}, {AFX_IDW_DOCKBAR_LEFT, true, false, kBelow},
        {AFX_IDW_DOCKBAR_LEFT, false, true, kRight},   {AFX_IDW_DOCKBAR_RIGHT, false, true, kLeft},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(testing::Message() << c.nSide << (c.bAlong ? " along" : " across")
                                        << (c.bLeading ? " leading" : " trailing"));
        DockFrame f;
        ASSERT_TRUE(f.bars[0].DockAtFrameSide(c.nSide));
        testsupport::PumpPending();
        ASSERT_TRUE(f.bars[0].DockBesideBar(&f.bars[2], c.bAlong, c.bLeading));
        testsupport::PumpPending();
        const CRect rcT = f.ClientRectOf(&f.bars[0], f.pFrame), rcB = f.ClientRectOf(&f.bars[2], f.pFrame);
        switch (c.nWhere)
        {
        case kAbove: EXPECT_EQ(rcB.bottom, rcT.top); break;
        case kBelow: EXPECT_EQ(rcT.bottom, rcB.top); break;
        case kLeft: EXPECT_EQ(rcB.right, rcT.left); break;
        default: EXPECT_EQ(rcT.right, rcB.left); break;
        }
        EXPECT_EQ(f.bars[0].m_pDockBar, f.bars[2].m_pDockBar);
    }
}

namespace {

void SendMouseAt(CPoint p, DWORD dwFlags)
{
    INPUT in = {};
    in.type = INPUT_MOUSE;
    in.mi.dx = p.x * 65535 / (::GetSystemMetrics(SM_CXSCREEN) - 1);
    in.mi.dy = p.y * 65535 / (::GetSystemMetrics(SM_CYSCREEN) - 1);
    in.mi.dwFlags = MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE | dwFlags;
    ::SendInput(1, &in, sizeof(in));
}

// Presses at ptFrom, moves to ptTo in steps and releases there; one input per timer
// tick, so that each one reaches the loop that the press started.
struct MouseScript
{
    std::vector<std::pair<CPoint, DWORD>> steps;
    size_t nNext = 0;
    static MouseScript* g_pRunning;
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD)
    {
        MouseScript* p = g_pRunning;
        if (p != NULL && p->nNext < p->steps.size())
        {
            SendMouseAt(p->steps[p->nNext].first, p->steps[p->nNext].second);
            p->nNext++;
        }
    }
};
MouseScript* MouseScript::g_pRunning = NULL;

bool DragWithMouse(CPoint ptFrom, CPoint ptTo, const std::function<bool()>& done)
{
    MouseScript script;
    script.steps.push_back({ptFrom, 0});
    script.steps.push_back({ptFrom, MOUSEEVENTF_LEFTDOWN});
    for (int i = 1; i <= 6; i++)
        script.steps.push_back({ptFrom + CPoint((ptTo.x - ptFrom.x) * i / 6, (ptTo.y - ptFrom.y) * i / 6), 0});
    script.steps.push_back({ptTo, MOUSEEVENTF_LEFTUP});
    MouseScript::g_pRunning = &script;
    const UINT_PTR idTimer = ::SetTimer(NULL, 0, 50, MouseScript::Tick);
    const bool bDone = testsupport::PumpUntil([&] { return script.nNext >= script.steps.size() && done(); }, 5000);
    ::KillTimer(NULL, idTimer);
    MouseScript::g_pRunning = NULL;
    testsupport::PumpPending();
    return bDone;
}

}  // namespace

TEST(DockingOps, DraggingACaptionOntoABarMakesATabAndDraggingTheTabOutFloatsIt)
{
    DockFrame f;
    ::SetForegroundWindow(f.pFrame->m_hWnd);
    f.pFrame->SetActiveWindow();
    CRect rcA, rcB;
    f.bars[0].GetWindowRect(&rcA);
    f.bars[1].GetWindowRect(&rcB);
    const CRect rcCaptionB(*f.bars[1].GetCaptionRect());
    ASSERT_FALSE(rcCaptionB.IsRectEmpty());
    // B's caption, dropped on A's caption band.
    const CPoint ptFrom(rcB.left + rcCaptionB.left + 20, rcB.top + rcCaptionB.CenterPoint().y);
    const CPoint ptTo(rcA.CenterPoint().x, rcA.top + 12);
    ASSERT_TRUE(DragWithMouse(ptFrom, ptTo, [&] { return f.bars[1].GetTabbedContainer() != NULL; }));
    CExtDynTabControlBar* pGroup = f.bars[1].GetTabbedContainer();
    EXPECT_EQ(pGroup, f.bars[0].GetTabbedContainer());
    ASSERT_EQ(2, pGroup->m_wndTabSwitcher.ItemGetCount());
    EXPECT_EQ(CExtControlBar::GetDraggedBar(), (CExtControlBar*)NULL);

    // B's tab dragged away from the strip into the middle of the frame floats B.
    pGroup->ResizeContentWindow(-1, -1, true);
    testsupport::PumpPending();
    CExtDynTabWnd& strip = pGroup->m_wndTabSwitcher;
    const int nTab = pGroup->GetBarTabIndex(&f.bars[1]);
    ASSERT_GE(nTab, 0);
    CPoint ptTab = strip.ItemGet(nTab)->ItemRectGet().CenterPoint();
    strip.ClientToScreen(&ptTab);
    CRect rcFrame;
    f.pFrame->GetWindowRect(&rcFrame);
    ASSERT_TRUE(DragWithMouse(ptTab, CPoint(rcFrame.right - 60, rcFrame.bottom - 60),
                              [&] { return f.bars[1].GetTabbedContainer() == NULL; }));
    EXPECT_EQ(1, strip.ItemGetCount());
    EXPECT_EQ(-1, pGroup->GetBarTabIndex(&f.bars[1]));
    EXPECT_EQ(strip.ItemFindByStyle(CExtDynTabWnd::__EDTI_PREVIEW), -1);
    EXPECT_EQ(UINT(AFX_IDW_DOCKBAR_FLOAT), f.bars[1].GetDockBarCtrlID());
}

namespace {

// Rings past the frame edge whose four dock bars hold no bar.
int CountEmptyRings(CFrameWnd* pFrame)
{
    std::vector<CExtDockBar*> sides;
    for (UINT nID : {AFX_IDW_DOCKBAR_TOP, AFX_IDW_DOCKBAR_BOTTOM, AFX_IDW_DOCKBAR_LEFT, AFX_IDW_DOCKBAR_RIGHT})
        sides.push_back(DYNAMIC_DOWNCAST(CExtDockBar, pFrame->GetControlBar(nID)));
    int nEmpty = 0;
    for (UINT nRing = 1;; nRing++)
    {
        bool bAny = false, bHolds = false;
        for (CExtDockBar* p : sides)
        {
            while (p != NULL && p->GetCircleNo() < nRing)
                p = p->GetInnerNeighbour();
            if (p == NULL || p->GetCircleNo() != nRing)
                continue;
            bAny = true;
            for (INT_PTR i = 0; i < p->m_arrBars.GetSize(); i++)
                bHolds = bHolds || UINT_PTR(p->m_arrBars[i]) > 0xFFFF;
        }
        if (!bAny)
            return nEmpty;
        nEmpty += bHolds ? 0 : 1;
    }
}

bool HeldByAnyDockBar(CFrameWnd* pFrame, void* pBar)
{
    for (UINT nID : {AFX_IDW_DOCKBAR_TOP, AFX_IDW_DOCKBAR_BOTTOM, AFX_IDW_DOCKBAR_LEFT, AFX_IDW_DOCKBAR_RIGHT})
        for (CExtDockBar* p = DYNAMIC_DOWNCAST(CExtDockBar, pFrame->GetControlBar(nID)); p != NULL;
             p = p->GetInnerNeighbour())
            for (INT_PTR i = 0; i < p->m_arrBars.GetSize(); i++)
                if (p->m_arrBars[i] == pBar)
                    return true;
    return false;
}

bool IsLiveBar(const void* pBar)
{
    for (INT_PTR i = 0; i < CExtControlBar::g_AllBars.GetSize(); i++)
        if (CExtControlBar::g_AllBars[i] == pBar)
            return true;
    return false;
}

}  // namespace

TEST(DockingOps, AGroupTabbedOntoAPlainBarIsLeftAloneOnceItDissolved)
{
    const struct
    {
        const char* sName;
        bool bDrop;
    } cases[] = {{"by call", false}, {"by a drop on the caption band", true}};
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.sName);
        PoisonedGroupsFrame* pFrame = new PoisonedGroupsFrame;
        pFrame->Create(NULL, "Poisoned", WS_OVERLAPPEDWINDOW, CRect(20, 20, 620, 470));
        CExtControlBar::EnableFrameDocking(pFrame);
        CExtControlBar bars[3];
        for (int i = 0; i < 3; i++)
        {
            bars[i].Create(i == 2 ? "Target" : "Page", pFrame, UINT(51030 + i),
                           WS_CHILD | WS_VISIBLE | CBRS_LEFT | CBRS_GRIPPER);
            bars[i].EnableDocking(CBRS_ALIGN_ANY);
            bars[i].m_bAutoDelete = FALSE;
        }
        pFrame->ShowWindow(SW_SHOWNA);
        for (int i = 0; i < 3; i++)
            bars[i].DockAtFrameSide(AFX_IDW_DOCKBAR_LEFT);
        ASSERT_TRUE(bars[0].DockIntoTabbedBar(&bars[1], -1, NULL, true));
        testsupport::PumpPending();
        CExtDynTabControlBar* pOld = bars[0].GetTabbedContainer();
        ASSERT_TRUE(pOld != NULL && pOld->IsKindOf(RUNTIME_CLASS(CExtDynTabControlBar)));
        const HWND hWndOld = pOld->m_hWnd;
        if (!c.bDrop)
            EXPECT_TRUE(bars[2].DockIntoTabbedBar(pOld, -1, NULL, true));
        else
        {
            ::SetForegroundWindow(pFrame->m_hWnd);
            pFrame->SetActiveWindow();
            CRect rcOld, rcTarget;
            pOld->GetWindowRect(&rcOld);
            bars[2].GetWindowRect(&rcTarget);
            const CRect rcCaption(*pOld->GetCaptionRect());
            ASSERT_FALSE(rcCaption.IsRectEmpty());
            const CPoint ptFrom(rcOld.left + rcCaption.left + 20, rcOld.top + rcCaption.CenterPoint().y);
            EXPECT_TRUE(DragWithMouse(ptFrom, CPoint(rcTarget.CenterPoint().x, rcTarget.top + 12),
                                      [&] { return !::IsWindow(hWndOld); }));
        }
        testsupport::PumpPending();
        EXPECT_FALSE(::IsWindow(hWndOld));
        EXPECT_EQ(1u, PoisonedStore::Freed().size());
        EXPECT_TRUE(PoisonedStore::FreedIntact());
        CExtDynTabControlBar* pNew = bars[2].GetTabbedContainer();
        ASSERT_TRUE(pNew != NULL);
        ASSERT_EQ(3, pNew->m_wndTabSwitcher.ItemGetCount());
        EXPECT_EQ(&bars[2], pNew->m_wndTabSwitcher.GetItemBar(0));
        EXPECT_EQ(&bars[0], pNew->m_wndTabSwitcher.GetItemBar(1));
        EXPECT_EQ(&bars[1], pNew->m_wndTabSwitcher.GetItemBar(2));
        EXPECT_EQ(0, CountEmptyRings(pFrame));
        pFrame->DestroyWindow();
        PoisonedStore::ReleaseFreed();
    }
}

TEST(DockingOps, TwoBarsSharingAPlaceTabbedTogetherLeaveNoContainerBehind)
{
    const struct
    {
        const char* sName;
        bool bIntoGroup;
    } cases[] = {{"onto a plain bar", false}, {"into a group", true}};
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.sName);
        CExtControlBar extra;  // goes after the frame, as a child of it
        DockFrame f;
        extra.m_bAutoDelete = FALSE;
        ASSERT_TRUE(extra.Create("Four", f.pFrame, 51003, WS_CHILD | WS_VISIBLE | CBRS_LEFT | CBRS_GRIPPER));
        extra.EnableDocking(CBRS_ALIGN_ANY);
        extra.DockAtFrameSide(AFX_IDW_DOCKBAR_LEFT);
        ASSERT_TRUE(f.bars[2].DockNextTo(&f.bars[0], AFX_IDW_DOCKBAR_BOTTOM));
        testsupport::PumpPending();
        CExtDynControlBar* pBox = DYNAMIC_DOWNCAST(CExtDynControlBar, f.bars[0].m_pDockBar->GetParent());
        ASSERT_TRUE(pBox != NULL);
        const HWND hWndBox = pBox->m_hWnd;
        if (c.bIntoGroup)
        {
            ASSERT_TRUE(f.bars[1].DockIntoTabbedBar(&extra, -1, NULL, true));
        }
        ASSERT_TRUE(f.bars[1].DockIntoTabbedBar(pBox, -1, NULL, true));
        testsupport::PumpPending();
        EXPECT_FALSE(::IsWindow(hWndBox));
        EXPECT_FALSE(IsLiveBar(pBox));
        EXPECT_FALSE(HeldByAnyDockBar(f.pFrame, pBox));
        EXPECT_EQ(0, CountEmptyRings(f.pFrame));
        CExtDynTabControlBar* pGroup = f.bars[1].GetTabbedContainer();
        ASSERT_TRUE(pGroup != NULL);
        EXPECT_EQ(pGroup, f.bars[0].GetTabbedContainer());
        EXPECT_EQ(pGroup, f.bars[2].GetTabbedContainer());
        EXPECT_EQ(c.bIntoGroup ? 4 : 3, pGroup->m_wndTabSwitcher.ItemGetCount());
        // A new group shows the bar it was made on; a group joined shows what came in.
        EXPECT_EQ(c.bIntoGroup ? &f.bars[0] : &f.bars[1], pGroup->GetSelectedBar());
    }
}

TEST(DockingOps, EmptiedContainersSideBySideAllDissolveInOnePass)
{
    CExtControlBar extra;  // goes after the frame, as a child of it
    DockFrame f;
    extra.m_bAutoDelete = FALSE;
    ASSERT_TRUE(extra.Create("Four", f.pFrame, 51003, WS_CHILD | WS_VISIBLE | CBRS_LEFT | CBRS_GRIPPER));
    extra.EnableDocking(CBRS_ALIGN_ANY);
    // Two and two bars share two places in one dock bar, one row.
    CExtDockBar* pDock = DYNAMIC_DOWNCAST(CExtDockBar, f.bars[0].m_pDockBar);
    ASSERT_TRUE(pDock != NULL);
    pDock->DockControlBar(&f.bars[2], NULL, false);
    ASSERT_TRUE(f.bars[1].DockNextTo(&f.bars[0], AFX_IDW_DOCKBAR_BOTTOM));
    ASSERT_TRUE(extra.DockNextTo(&f.bars[2], AFX_IDW_DOCKBAR_BOTTOM));
    testsupport::PumpPending();
    CExtDynControlBar* pBoxes[2] = {DYNAMIC_DOWNCAST(CExtDynControlBar, f.bars[0].m_pDockBar->GetParent()),
                                    DYNAMIC_DOWNCAST(CExtDynControlBar, f.bars[2].m_pDockBar->GetParent())};
    ASSERT_TRUE(pBoxes[0] != NULL && pBoxes[1] != NULL);
    CPtrArray& arr = pDock->m_arrBars;
    const int nFirst = pDock->FindBar(pBoxes[0]);
    ASSERT_GT(nFirst, 0);
    if (arr[nFirst + 1] == NULL && nFirst + 2 < arr.GetSize() && arr[nFirst + 2] == pBoxes[1])
        arr.RemoveAt(nFirst + 1);
    ASSERT_EQ(nFirst + 1, pDock->FindBar(pBoxes[1]));
    HWND hWndBoxes[2];
    for (int i = 0; i < 2; i++)
    {
        hWndBoxes[i] = pBoxes[i]->m_hWnd;
        pBoxes[i]->m_pWndDynDocker->DetachAllBars();
    }
    pDock->UpdateNestedLayout2();
    for (int i = 0; i < 2; i++)
    {
        SCOPED_TRACE(i);
        EXPECT_FALSE(::IsWindow(hWndBoxes[i]));
        EXPECT_EQ(-1, pDock->FindBar(pBoxes[i]));
    }
}
