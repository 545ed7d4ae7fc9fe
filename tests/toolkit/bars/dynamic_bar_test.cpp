// Dynamic bars: the walk through their states with the archive each one stores, loading
// a state back (a document state into the site's tab pages), damaged archives that leave
// the bar as it was, and a bar's window going while its frame's site knows it.
#include <gtest/gtest.h>

#include <vector>
#include "framework/afxres.h"
#include "framework/framework.h"
#include "support/exception_probe.h"
#include "tests/support/archive_bytes.h"
#include "tests/support/message_pump.h"
#include "toolkit/bars/auto_hide.h"
#include "toolkit/bars/dynamic_bar.h"
#include "toolkit/dialogs/tab_page_container.h"

using testsupport::PumpPending;
using testsupport::PumpUntil;

namespace {

typedef std::vector<BYTE> Bytes;

Bytes Dwords(std::initializer_list<DWORD> values)
{
    Bytes out;
    for (DWORD v : values)
        for (int i = 0; i < 4; i++)
            out.push_back(BYTE(v >> (8 * i)));
    return out;
}

void Click(CPoint p)
{
    for (DWORD dwFlags : {DWORD(0), DWORD(MOUSEEVENTF_LEFTDOWN), DWORD(MOUSEEVENTF_LEFTUP)})
    {
        INPUT in = {};
        in.type = INPUT_MOUSE;
        in.mi.dx = p.x * 65535 / (::GetSystemMetrics(SM_CXSCREEN) - 1);
        in.mi.dy = p.y * 65535 / (::GetSystemMetrics(SM_CYSCREEN) - 1);
        in.mi.dwFlags = MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE | dwFlags;
        ::SendInput(1, &in, sizeof(in));
        PumpPending();
    }
}

// The screen centre of a caption button laid out in hWndRef's window.
CPoint ButtonCentre(const CExtBarNcAreaButton* pBtn, HWND hWndRef)
{
    CRect rc;
    ::GetWindowRect(hWndRef, &rc);
    return rc.TopLeft() + CRect(pBtn->m_rc).CenterPoint();
}

void Load(CExtDynamicControlBar& bar, const Bytes& bytes)
{
    CMemFile file;
    if (!bytes.empty())
        file.Write(bytes.data(), UINT(bytes.size()));
    file.SeekToBegin();
    CArchive ar(&file, CArchive::load);
    bar.SerializeState(ar);
}

Bytes Stored(CExtDynamicControlBar& bar)
{
    return testsupport::StoredBytes([&](CArchive& ar) { bar.SerializeState(ar); });
}

struct DynFrame
{
    CFrameWnd* pFrame = new CFrameWnd;
    CExtDynamicControlBar bar;
    HWND hWndContent = NULL;
    DynFrame()
    {
        pFrame->Create(NULL, "Dynamic", WS_OVERLAPPEDWINDOW, CRect(40, 40, 640, 500));
        CExtControlBar::EnableFrameDocking(pFrame);
        CExtDynAutoHideArea::CreateFrameAreas(pFrame);
        bar.Create("Dyn", pFrame, 52010, WS_CHILD | WS_VISIBLE | CBRS_LEFT | CBRS_GRIPPER);
        hWndContent = ::CreateWindowEx(0, "STATIC", "", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, bar.m_hWnd, NULL,
                                       AfxGetInstanceHandle(), NULL);
        bar.EnableDocking(CBRS_ALIGN_ANY);
        pFrame->ShowWindow(SW_SHOWNA);
        bar.DockAtFrameSide(AFX_IDW_DOCKBAR_LEFT);
        pFrame->RecalcLayout(TRUE);
        PumpPending();
    }
    ~DynFrame()
    {
        if (pFrame->GetSafeHwnd() != NULL)
            pFrame->DestroyWindow();
    }
    bool InBarsMenu() const { return (bar.m_nOptionFlags & CExtControlBar::__ESF_IN_BARS_MENU) != 0; }
};

}  // namespace

TEST(DynamicBar, EachStateIsReachedAndArchivedAsFourLittleEndianDwords)
{
    DynFrame f;
    f.bar.m_nMdiMenuResourceID = 0x1234;
    struct
    {
        const char* sName;
        DWORD dwState;
        bool bShow;
        DWORD dwExpState;
        bool bShown, bFloating, bAutoHide, bInMenu;
    } steps[] = {
        {"float", 0, true, 0, true, true, false, true},
        {"dock", 1, true, 1, true, false, false, true},
        {"pin", 3, true, 3, false, false, true, true},
        {"hide the pinned bar: docked and hidden", 3, false, 1, false, false, false, true},
        {"dock again", 1, true, 1, true, false, false, true},
        {"document without a site", 2, true, 2, false, false, false, false},
        {"back docked", 1, true, 1, true, false, false, true},
    };
    for (const auto& s : steps)
    {
        SCOPED_TRACE(s.sName);
        EXPECT_TRUE(f.bar.SetBarState(s.dwState, s.bShow));
        PumpPending();
        EXPECT_EQ(s.dwExpState, DWORD(f.bar.GetBarState()));
        EXPECT_EQ(s.bShown, f.bar.IsWindowVisible() != FALSE);
        EXPECT_EQ(s.bFloating, f.bar.IsFloating());
        EXPECT_EQ(s.bAutoHide, f.bar.AutoHideModeGet());
        EXPECT_EQ(s.bInMenu, f.InBarsMenu());
        EXPECT_EQ(Dwords({s.dwExpState, s.bShow ? 0u : 1u, 0x1234, 0}), Stored(f.bar));
    }
    // Without a content window there is no document form to go to.
    CExtDynamicControlBar empty;
    ASSERT_TRUE(empty.Create("Empty", f.pFrame, 52011, WS_CHILD | CBRS_LEFT));
    EXPECT_FALSE(empty.SetBarState(2, true));
    EXPECT_EQ(CExtDynamicControlBar::__EDBS_DOCKED, empty.GetBarState());
    EXPECT_EQ(2u, empty.m_eLastRequestedState);
}

TEST(DynamicBar, ADocumentStateLoadedFromAnArchiveMovesTheContentIntoTheSitesTabPages)
{
    DynFrame f;
    CExtTabPageContainerWnd container;
    ASSERT_TRUE(container.Create(f.pFrame, CRect(200, 10, 500, 300), 52020));
    CExtDynamicBarSite site;
    ASSERT_TRUE(site.Install(f.pFrame));
    site.SetDetectedUiType(CExtDynamicBarSite::__EDUIT_TAB_PAGE_CONTAINER);
    EXPECT_EQ(&site, CExtDynamicBarSite::FindBarSiteByWnd(&f.bar));

    Load(f.bar, Dwords({2, 0, 7, 1}));
    EXPECT_EQ(CExtDynamicControlBar::__EDBS_DOCUMENT, f.bar.GetBarState());
    EXPECT_FALSE(f.InBarsMenu());
    EXPECT_EQ(7u, f.bar.m_nMdiMenuResourceID);
    EXPECT_EQ(1u, f.bar.m_nMdiAccelTableResourceID);
    EXPECT_EQ(container.m_hWnd, ::GetParent(f.hWndContent));
    ASSERT_EQ(1, container.PageGetCount());
    EXPECT_EQ(f.hWndContent, container.PageHwndGetSafe(0));
    EXPECT_EQ(Dwords({2, 0, 7, 1}), Stored(f.bar));

    // Docked again, the page comes home.
    Load(f.bar, Dwords({1, 0, 0, 0}));
    EXPECT_TRUE(f.InBarsMenu());
    EXPECT_EQ(f.bar.m_hWnd, ::GetParent(f.hWndContent));
    EXPECT_EQ(0, container.PageGetCount());
    site.Uninstall();
}

TEST(DynamicBar, TheDocumentStripsCloseButtonClosesTheSelectedDocument)
{
    DynFrame f;
    CExtTabPageContainerWnd container;
    ASSERT_TRUE(container.Create(f.pFrame, CRect(200, 10, 500, 300), AFX_IDW_PANE_FIRST));
    CExtDynamicBarSite site;
    ASSERT_TRUE(site.Install(f.pFrame));
    site.SetDetectedUiType(CExtDynamicBarSite::__EDUIT_TAB_PAGE_CONTAINER);
    site.BarAdd(&f.bar);
    ASSERT_TRUE(f.bar.SetBarState(CExtDynamicControlBar::__EDBS_DOCUMENT, true));
    ASSERT_EQ(1, container.PageGetCount());
    CExtTabWnd* pStrip = container.GetSafeTabWindow();
    ASSERT_TRUE(pStrip != NULL);
    // The press, and a release of the right button, leave the document open.
    EXPECT_TRUE(pStrip->OnTabWndClickedButton(CExtTabWnd::__ETWH_BUTTON_CLOSE, true, 1, 0));
    EXPECT_TRUE(pStrip->OnTabWndClickedButton(CExtTabWnd::__ETWH_BUTTON_CLOSE, false, 2, 0));
    EXPECT_EQ(1, container.PageGetCount());
    EXPECT_TRUE(pStrip->OnTabWndClickedButton(CExtTabWnd::__ETWH_BUTTON_CLOSE, false, 1, 0));
    PumpPending();
    EXPECT_EQ(0, container.PageGetCount());
    EXPECT_EQ(CExtDynamicControlBar::__EDBS_DOCKED, f.bar.GetBarState());
    EXPECT_FALSE(f.bar.IsWindowVisible());
    EXPECT_EQ(f.bar.m_hWnd, ::GetParent(f.hWndContent));
    site.Uninstall();
}

TEST(DynamicBar, ADamagedArchiveThrowsAndLeavesTheBarAsItWas)
{
    struct
    {
        const char* sName;
        Bytes bytes;
        int nCause;
    } cases[] = {
        {"empty", {}, CArchiveException::endOfFile},
        {"three of four values", Dwords({2, 1, 9}), CArchiveException::endOfFile},
        {"one byte short", Bytes(15, 0), CArchiveException::endOfFile},
        {"state 4", Dwords({4, 1, 9, 1}), CArchiveException::badIndex},
        {"state far out", Dwords({0xFFFFFFFF, 0, 0, 0}), CArchiveException::badIndex},
    };
    DynFrame f;
    f.bar.m_nMdiMenuResourceID = 5;
    const Bytes before = Stored(f.bar);
    ASSERT_EQ(Dwords({1, 0, 5, 0}), before);
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.sName);
        EXPECT_EQ(c.nCause, ThrownCause<CArchiveException>([&] { Load(f.bar, c.bytes); }));
        EXPECT_EQ(before, Stored(f.bar));
        EXPECT_TRUE(f.InBarsMenu());
        EXPECT_TRUE(f.bar.IsWindowVisible());
    }
}

TEST(DynamicBar, AGoingWindowLeavesTheSiteTheFrameAndItsDockBar)
{
    DynFrame f;
    CExtDynamicBarSite site;
    ASSERT_TRUE(site.Install(f.pFrame));
    site.BarAdd(&f.bar);
    CDockBar* pDockBar = f.bar.m_pDockBar;
    ASSERT_NE(nullptr, pDockBar);
    ASSERT_EQ(&f.bar, f.pFrame->GetControlBar(52010));

    ASSERT_TRUE(f.bar.DestroyWindow());
    EXPECT_EQ(nullptr, f.bar.m_hWnd);
    EXPECT_FALSE(site.BarIsKnown(&f.bar));
    EXPECT_EQ(nullptr, f.pFrame->GetControlBar(52010));
    EXPECT_EQ(nullptr, f.bar.m_pDockSite);
    for (INT_PTR i = 0; i < pDockBar->m_arrBars.GetSize(); i++)
        EXPECT_NE(static_cast<void*>(&f.bar), pDockBar->m_arrBars[i]) << i;
    ASSERT_EQ(1, site.m_arrReleasedIds.GetSize());
    EXPECT_EQ(52010u, site.m_arrReleasedIds[0]);
    // The frame lays itself out without the bar.
    f.pFrame->RecalcLayout(TRUE);
    PumpPending();
    site.Uninstall();
}

TEST(DynamicBar, AnMdiSiteShowsTheDocumentStateAsAChildFrameThatGivesTheContentBack)
{
    CMDIFrameWnd* pFrame = new CMDIFrameWnd;
    ASSERT_TRUE(pFrame->Create(NULL, "MDI", WS_OVERLAPPEDWINDOW, CRect(40, 40, 640, 500)));
    CExtControlBar::EnableFrameDocking(pFrame);
    CExtDynamicControlBar bar;
    ASSERT_TRUE(bar.Create("Document", pFrame, 52012, WS_CHILD | WS_VISIBLE | CBRS_LEFT | CBRS_GRIPPER));
    const HWND hWndContent = ::CreateWindowEx(0, "STATIC", "", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, bar.m_hWnd,
                                              NULL, AfxGetInstanceHandle(), NULL);
    bar.EnableDocking(CBRS_ALIGN_ANY);
    pFrame->ShowWindow(SW_SHOWNA);
    bar.DockAtFrameSide(AFX_IDW_DOCKBAR_LEFT);
    pFrame->RecalcLayout(TRUE);
    CExtDynamicBarSite site;
    ASSERT_TRUE(site.Install(pFrame));
    site.SetDetectedUiType(CExtDynamicBarSite::__EDUIT_MDI_STANDARD);

    ASSERT_TRUE(bar.SetBarState(2, true));
    PumpPending();
    const HWND hWndDoc = ::GetParent(hWndContent);
    CExtDynamicMDIChildWnd* pDoc = DYNAMIC_DOWNCAST(CExtDynamicMDIChildWnd, CWnd::FromHandlePermanent(hWndDoc));
    ASSERT_NE(nullptr, pDoc);
    EXPECT_EQ(pDoc, pFrame->MDIGetActive());
    CString sTitle;
    pDoc->GetWindowText(sTitle);
    EXPECT_STREQ("Document", sTitle);
    EXPECT_FALSE(bar.IsWindowVisible());
    CRect rcDoc, rcContent;
    pDoc->GetClientRect(&rcDoc);
    ::GetClientRect(hWndContent, &rcContent);
    EXPECT_EQ(rcDoc.Size(), rcContent.Size());

    ASSERT_TRUE(bar.SetBarState(1, true));
    PumpPending();
    EXPECT_FALSE(::IsWindow(hWndDoc));
    EXPECT_EQ(bar.m_hWnd, ::GetParent(hWndContent));
    EXPECT_TRUE(bar.IsWindowVisible());
    EXPECT_EQ(CExtDynamicControlBar::__EDBS_DOCKED, bar.GetBarState());
    site.Uninstall();
    pFrame->DestroyWindow();
}

TEST(DynamicBar, TheCaptionButtonsMoveTheBarBetweenItsStates)
{
    DynFrame f;
    f.pFrame->SetActiveWindow();
    f.bar.LayoutNcAreaButtons();
    ASSERT_EQ(3, f.bar.m_vNcAreaButtons.GetSize());
    EXPECT_TRUE(f.bar.m_vNcAreaButtons[0]->IsKindOf(RUNTIME_CLASS(CExtDynamicBarNcAreaButtonClose)));
    EXPECT_TRUE(f.bar.m_vNcAreaButtons[2]->OnQueryVisibility()) << "the options button of a resizable bar";
    CExtBarNcAreaButton* pPin = f.bar.m_vNcAreaButtons[1];
    CExtDynAutoHideArea* pArea = CExtDynAutoHideArea::FindBarArea(&f.bar);
    EXPECT_EQ(nullptr, pArea);

    Click(ButtonCentre(pPin, f.bar.m_hWnd));
    ASSERT_TRUE(PumpUntil([&] { return f.bar.AutoHideModeGet(); }, 2000));
    EXPECT_EQ(CExtDynamicControlBar::__EDBS_AUTO_HIDDEN, f.bar.GetBarState());
    bool bVisible = false;
    f.bar.GetBarState(&bVisible);
    EXPECT_TRUE(bVisible) << "out in the slider";
    pArea = CExtDynAutoHideArea::FindBarArea(&f.bar);
    ASSERT_NE(nullptr, pArea);

    // The slider's Close button hides the bar in its state: a hidden pinned bar is a
    // hidden docked one.
    Click(ButtonCentre(f.bar.m_vNcAreaButtons[0], pArea->GetSlider()->m_hWnd));
    ASSERT_TRUE(PumpUntil([&] { return !f.bar.AutoHideModeGet(); }, 2000));
    PumpPending();
    EXPECT_EQ(CExtDynamicControlBar::__EDBS_DOCKED, f.bar.GetBarState(&bVisible));
    EXPECT_FALSE(bVisible);
    EXPECT_FALSE(f.bar.IsWindowVisible());
    EXPECT_EQ(f.bar.m_hWnd, ::GetParent(f.hWndContent));
    EXPECT_EQ(Dwords({1, 1, 0, 0}), Stored(f.bar));
}
