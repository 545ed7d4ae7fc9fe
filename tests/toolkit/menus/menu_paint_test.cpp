// Menu painting in a DIB for each theme: the background and frame colours, the receiver
// taking over the background and single items, the selected item's highlight and the
// service buttons' areas kept free of items.
#include <gtest/gtest.h>

#include "framework/framework.h"
#include "support/dib_canvas.h"
#include "support/message_pump.h"
#include "toolkit/menus/popup_menu_wnd.h"
#include "toolkit/theme/paint_manager.h"

#include <string>

using testsupport::DibCanvas;
using testsupport::PumpPending;

namespace {

typedef CExtPopupMenuWnd::MENUITEMDATA MID;

const UINT kCmdA = 0x7401, kCmdB = 0x7402, kCmdC = 0x7403;
int g_nDrawItemMsgs = 0;
int g_nDrawBackgroundMsgs = 0;
bool g_bOwnerPaintsItems = false;
bool g_bOwnerPaintsBackground = false;

LRESULT CALLBACK PaintReceiverProc(HWND hWnd, UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == CExtPopupMenuWnd::g_nMsgPopupDrawItem)
    {
        g_nDrawItemMsgs++;
        return g_bOwnerPaintsItems ? 1 : 0;
    }
    if (msg == CExtPopupMenuWnd::g_nMsgPopupDrawBackground)
    {
        g_nDrawBackgroundMsgs++;
        if (g_bOwnerPaintsBackground)
            ((CExtPopupMenuWnd::DRAWBACKGROUNDDATA*)lp)->m_nFlags |= 0x03;
        return 0;
    }
    return ::DefWindowProcA(hWnd, msg, wp, lp);
}

struct Theme
{
    CRuntimeClass* pClass;
    const char* sName;
    int nBackgroundId;
};

class MenuPaintTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = PaintReceiverProc;
        wc.hInstance = ::GetModuleHandleA(NULL);
        wc.lpszClassName = "MenuPaintTestReceiver";
        ::RegisterClassA(&wc);
        m_hWndRecv = ::CreateWindowA("MenuPaintTestReceiver", "", WS_POPUP, 0, 0, 10, 10, NULL, NULL, NULL, NULL);
        g_nDrawItemMsgs = g_nDrawBackgroundMsgs = 0;
        g_bOwnerPaintsItems = g_bOwnerPaintsBackground = false;
    }
    void TearDown() override
    {
        CExtPopupMenuWnd::CancelMenuTracking();
        PumpPending();
        if (m_menu.GetSafeHwnd() != NULL)
            m_menu.DestroyWindow();
        m_menu.ItemRemove(-1);
        ::DestroyWindow(m_hWndRecv);
        g_CurrentPaintManager.InstallPaintManagerByClass(RUNTIME_CLASS(CExtPaintManagerXP));
    }
    static void Fill(CExtPopupMenuWnd& menu, HWND hWndRecv)
    {
        ASSERT_TRUE(menu.CreatePopupMenu(hWndRecv));
        menu.ItemInsertCommand(kCmdA, -1, "Alpha");
        menu.ItemInsert(CExtPopupMenuWnd::TYPE_SEPARATOR);
        menu.ItemInsertCommand(kCmdB, -1, "Beta");
        menu.ItemInsertCommand(kCmdC, -1, "Gamma");
        for (int i = 0; i < menu.ItemGetCount(); i++)
            if (!menu.ItemGetInfo(i).IsSeparator())
                menu.ItemGetInfo(i).m_nStateFlags |= MID::__MIS_ENABLED;
        menu.SetTrackFlags(CExtPopupMenuWnd::TMF_NO_SHADOW);
        menu.RecalcLayout();
    }
    // The menu in a window of its content size plus 40 free rows at the bottom.
    void MakeWindow()
    {
        CSize size;
        m_menu.CalcMenuSize(size);
        size.cy += 40;
        ASSERT_TRUE(m_menu.CreateEx(WS_EX_TOPMOST, AfxRegisterWndClass(0), _T(""), WS_POPUP, 0, 0, size.cx, size.cy,
                                    m_hWndRecv, 0));
        m_menu.m_rcMenu.SetRect(0, 0, size.cx, size.cy);
        m_menu.RecalcServiceAreas();
    }
    void Paint(DibCanvas& canvas, CExtPopupMenuWnd& menu)
    {
        CDC dc;
        dc.Attach(canvas.Dc());
        menu.OnPaintMenu(dc, false);
        dc.Detach();
    }

    HWND m_hWndRecv = NULL;
    CExtPopupMenuWnd m_menu;
};

const Theme kThemes[] = {
    {RUNTIME_CLASS(CExtPaintManager), "base", 1000},
    {RUNTIME_CLASS(CExtPaintManagerXP), "XP", 2001},
    {RUNTIME_CLASS(CExtPaintManagerOffice2003), "Office 2003", 2001},
    {RUNTIME_CLASS(CExtPaintManagerStudio2005), "Studio 2005", 2001},
};

}  // namespace

TEST_F(MenuPaintTest, BackgroundFrameAndSelectionInEveryTheme)
{
    for (const Theme& t : kThemes)
    {
        SCOPED_TRACE(t.sName);
        g_CurrentPaintManager.InstallPaintManagerByClass(t.pClass);
        CExtPaintManager* pPM = g_CurrentPaintManager.GetPM();
        CExtPopupMenuWnd menu;
        Fill(menu, m_hWndRecv);
        CSize size;
        menu.CalcMenuSize(size);
        size.cy += 40;
        ASSERT_TRUE(menu.CreateEx(WS_EX_TOPMOST, AfxRegisterWndClass(0), _T(""), WS_POPUP, 0, 0, size.cx, size.cy,
                                  m_hWndRecv, 0));
        menu.m_rcMenu.SetRect(0, 0, size.cx, size.cy);
        menu.RecalcServiceAreas();
        CRect rcM;
        menu.GetBorderMargins(rcM);

        DibCanvas canvas(size.cx, size.cy, RGB(255, 0, 255));
        Paint(canvas, menu);
        const COLORREF clrBk = pPM->LookupColor(t.nBackgroundId, &menu);
        // The free rows under the last item show the menu background.
        EXPECT_EQ(canvas.Pixel(size.cx / 2, size.cy - rcM.bottom - 10), clrBk);
        EXPECT_EQ(canvas.Count(RGB(255, 0, 255), CRect(0, 0, size.cx, size.cy)), 0) << "every pixel painted";
        if (t.nBackgroundId == 2001)
            EXPECT_EQ(canvas.Pixel(0, size.cy / 2), pPM->LookupColor(CExtPaintManager::XPCLR_MENU_BORDER, &menu));
        else
            EXPECT_EQ(canvas.Pixel(size.cx - 1, size.cy / 2),
                      pPM->LookupColor(CExtPaintManager::CLR_3DDKSHADOW_OUT, &menu))
                << "the 3D frame's dark outer edge";

        // The selected item paints its row differently at its trailing end.
        CRect rcB;
        menu.GetItemRect(2, rcB, true);
        const CPoint ptProbe(rcB.right - 3, rcB.CenterPoint().y);
        const COLORREF clrBefore = canvas.Pixel(ptProbe.x, ptProbe.y);
        menu.SelectItem(2, false, false, false);
        ASSERT_TRUE(menu.ItemGetInfo(2).IsSelected());
        DibCanvas canvas2(size.cx, size.cy, RGB(255, 0, 255));
        Paint(canvas2, menu);
        EXPECT_NE(canvas2.Pixel(ptProbe.x, ptProbe.y), clrBefore);
        CRect rcA;
        menu.GetItemRect(0, rcA, true);
        EXPECT_EQ(canvas2.Pixel(rcA.right - 3, rcA.CenterPoint().y), canvas.Pixel(rcA.right - 3, rcA.CenterPoint().y))
            << "the other items are unchanged";
        menu.DestroyWindow();
        menu.ItemRemove(-1);
    }
}

// The icon column: solid in XP; in Office 2003 and Studio 2005 the scheme's ramp, leading
// colour at the left edge, middle colour at the half, trailing colour toward the right edge.
TEST_F(MenuPaintTest, TheIconColumnRunsTheSchemesRampFromLeftToRight)
{
    const struct
    {
        CRuntimeClass* pClass;
        const char* sName;
        int nLeft, nMiddle, nRight;
    } cases[] = {
        {RUNTIME_CLASS(CExtPaintManagerXP), "XP", 1000, 1000, 1000},
        {RUNTIME_CLASS(CExtPaintManagerOffice2003), "Office 2003", 3015, 3016, 3017},
        {RUNTIME_CLASS(CExtPaintManagerStudio2005), "Studio 2005", 3015, 3016, 3017},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.sName);
        g_CurrentPaintManager.InstallPaintManagerByClass(c.pClass);
        CExtPaintManager* pPM = g_CurrentPaintManager.GetPM();
        CExtPopupMenuWnd menu;
        Fill(menu, m_hWndRecv);
        CSize size;
        menu.CalcMenuSize(size);
        ASSERT_TRUE(menu.CreateEx(WS_EX_TOPMOST, AfxRegisterWndClass(0), _T(""), WS_POPUP, 0, 0, size.cx, size.cy,
                                  m_hWndRecv, 0));
        menu.m_rcMenu.SetRect(0, 0, size.cx, size.cy);
        menu.RecalcServiceAreas();
        DibCanvas canvas(size.cx, size.cy, RGB(255, 0, 255));
        Paint(canvas, menu);
        CRect rcRow;
        menu.GetItemRect(0, rcRow, false);
        const int nWidth = menu.ItemGetInfo(0).GetIconAreaWidth();
        ASSERT_GT(nWidth, 8);
        const int y = rcRow.CenterPoint().y;
        const COLORREF c1 = pPM->LookupColor(c.nLeft, &menu), c2 = pPM->LookupColor(c.nMiddle, &menu),
                       c3 = pPM->LookupColor(c.nRight, &menu);
        // Each half is a one-pixel band per column: the last column of the second half lies
        // one band short of the trailing colour.
        const int nSplit = ::MulDiv(nWidth, 1, 2), nBands = nWidth - nSplit;
        auto last = [&](int nShift) {
            const int a = (c3 >> nShift) & 0xFF, b = (c2 >> nShift) & 0xFF;
            return (a * (nBands - 1) + b) / nBands;
        };
        EXPECT_EQ(canvas.Pixel(rcRow.left, y), c1) << "leading edge";
        EXPECT_EQ(canvas.Pixel(rcRow.left + nSplit, y), c2) << "middle";
        EXPECT_EQ(canvas.Pixel(rcRow.left + nWidth - 1, y), RGB(last(0), last(8), last(16))) << "trailing edge";
        // No column is lighter than the one before it.
        for (int x = rcRow.left + 1; x < rcRow.left + nWidth; x++)
        {
            const COLORREF a = canvas.Pixel(x - 1, y), b = canvas.Pixel(x, y);
            EXPECT_LE(GetRValue(b) + GetGValue(b) + GetBValue(b), GetRValue(a) + GetGValue(a) + GetBValue(a))
                << "column " << x - rcRow.left;
        }
        menu.DestroyWindow();
        menu.ItemRemove(-1);
    }
}

TEST_F(MenuPaintTest, TheReceiverTakesOverItemsOnlyWhenTheTrackedMenuAsks)
{
    g_CurrentPaintManager.InstallPaintManagerByClass(RUNTIME_CLASS(CExtPaintManagerXP));
    CExtPaintManager* pPM = g_CurrentPaintManager.GetPM();
    // Untracked by a tree carrying the owner-draw flag: nobody is asked.
    Fill(m_menu, m_hWndRecv);
    MakeWindow();
    CRect rcClient;
    m_menu.GetClientRect(&rcClient);
    DibCanvas canvas(rcClient.Width(), rcClient.Height());
    Paint(canvas, m_menu);
    EXPECT_EQ(g_nDrawItemMsgs, 0);
    EXPECT_EQ(g_nDrawBackgroundMsgs, 1);

    // A tracked menu with the owner-draw flag offers its three items, never the separator.
    CExtPopupMenuWnd* pMenu = new CExtPopupMenuWnd;
    Fill(*pMenu, m_hWndRecv);
    ASSERT_TRUE(pMenu->TrackPopupMenu(CExtPopupMenuWnd::TMF_OWNER_DRAW | CExtPopupMenuWnd::TMF_NO_CMD_UI |
                                          CExtPopupMenuWnd::TMF_NO_ANIMATION | CExtPopupMenuWnd::TMF_NO_SHADOW,
                                      20, 20));
    PumpPending();
    pMenu->GetClientRect(&rcClient);
    CRect rcA;
    pMenu->GetItemRect(0, rcA, true);
    const CPoint ptIcon(rcA.left + 4, rcA.CenterPoint().y);
    g_nDrawItemMsgs = 0;
    DibCanvas canvasDefault(rcClient.Width(), rcClient.Height());
    Paint(canvasDefault, *pMenu);
    EXPECT_EQ(g_nDrawItemMsgs, 3);
    const COLORREF clrBk = pPM->LookupColor(2001, pMenu);
    EXPECT_NE(canvasDefault.Pixel(ptIcon.x, ptIcon.y), clrBk) << "the icon column";

    g_bOwnerPaintsItems = true;
    DibCanvas canvasOwner(rcClient.Width(), rcClient.Height());
    Paint(canvasOwner, *pMenu);
    EXPECT_EQ(canvasOwner.Pixel(ptIcon.x, ptIcon.y), clrBk) << "the owner painted nothing over the background";
    EXPECT_EQ(canvasOwner.Count(clrBk, rcA), rcA.Width() * rcA.Height());

    // An owner that paints the background and frame leaves the target as it was.
    g_bOwnerPaintsBackground = true;
    DibCanvas canvasBk(rcClient.Width(), rcClient.Height(), RGB(255, 0, 255));
    Paint(canvasBk, *pMenu);
    EXPECT_EQ(canvasBk.Pixel(0, rcClient.Height() / 2), RGB(255, 0, 255));
    EXPECT_EQ(canvasBk.Pixel(rcA.CenterPoint().x, rcA.CenterPoint().y), RGB(255, 0, 255));
}

TEST_F(MenuPaintTest, ScrollButtonsShowOnlyWhereTheMenuCanScroll)
{
    g_CurrentPaintManager.InstallPaintManagerByClass(RUNTIME_CLASS(CExtPaintManagerXP));
    Fill(m_menu, m_hWndRecv);
    ASSERT_TRUE(m_menu.CreateEx(WS_EX_TOPMOST, AfxRegisterWndClass(0), _T(""), WS_POPUP, 0, 0, 150, 40, m_hWndRecv,
                                0));
    m_menu.m_rcMenu.SetRect(0, 0, 150, 40);
    m_menu.m_nMenuFlags |= CExtPopupMenuWnd::__MF_SCROLLABLE;
    m_menu.RecalcServiceAreas();
    ASSERT_LT(m_menu.GetScrollLimit(), 0);
    // At the top only the down button is painted: the up button's place shows the first item.
    DibCanvas atTop(150, 40);
    Paint(atTop, m_menu);
    m_menu.m_nScrollPos = m_menu.GetScrollLimit();
    m_menu.InvalidateItemRects();
    DibCanvas atEnd(150, 40);
    Paint(atEnd, m_menu);
    const CRect rcUp = m_menu.m_rcScrollTop, rcDown = m_menu.m_rcScrollBottom;
    std::string sTopUp, sEndUp, sTopDown, sEndDown;
    int nDiffUp = 0, nDiffDown = 0;
    for (int x = rcUp.left; x < rcUp.right; x++)
        for (int y = rcUp.top; y < rcUp.bottom; y++)
            nDiffUp += atTop.Pixel(x, y) != atEnd.Pixel(x, y);
    for (int x = rcDown.left; x < rcDown.right; x++)
        for (int y = rcDown.top; y < rcDown.bottom; y++)
            nDiffDown += atTop.Pixel(x, y) != atEnd.Pixel(x, y);
    EXPECT_GT(nDiffUp, 0) << "the up button appears once the menu scrolled";
    EXPECT_GT(nDiffDown, 0) << "the down button goes at the limit";
}

TEST_F(MenuPaintTest, AnimationFramesBlendTheScreenBeforeWithTheMenuAfter)
{
    g_CurrentPaintManager.InstallPaintManagerByClass(RUNTIME_CLASS(CExtPaintManagerXP));
    CExtPaintManager* pPM = g_CurrentPaintManager.GetPM();
    Fill(m_menu, m_hWndRecv);
    MakeWindow();
    CRect rcClient;
    m_menu.GetClientRect(&rcClient);
    const COLORREF clrScreen = RGB(200, 10, 101);
    const COLORREF clrBk = pPM->LookupColor(2001, &m_menu);
    const CPoint ptFree(rcClient.Width() / 2, rcClient.Height() - 10);

    // Fade at half way: every channel the integer mean.
    m_menu.SetAnimationKind(4);
    m_menu.m_nAnimPercent = 50;
    m_menu.m_nAnimPercentOld = 30;
    DibCanvas canvas(rcClient.Width(), rcClient.Height(), clrScreen);
    CDC dc;
    dc.Attach(canvas.Dc());
    m_menu.OnPaintFull(dc);
    const COLORREF clrMean = RGB((GetRValue(clrScreen) + GetRValue(clrBk)) / 2,
                                 (GetGValue(clrScreen) + GetGValue(clrBk)) / 2,
                                 (GetBValue(clrScreen) + GetBValue(clrBk)) / 2);
    EXPECT_EQ(canvas.Pixel(ptFree.x, ptFree.y), clrMean);
    dc.Detach();
    m_menu.ReleaseAnimationResources();

    // Growing circles at the end still show the screen in the corners of every cell.
    m_menu.SetAnimationKind(9);
    m_menu.m_nAnimPercent = 100;
    m_menu.m_nAnimPercentOld = 80;
    DibCanvas canvas9(rcClient.Width(), rcClient.Height(), clrScreen);
    dc.Attach(canvas9.Dc());
    m_menu.OnPaintFull(dc);
    dc.Detach();
    EXPECT_EQ(canvas9.Pixel(32, 32), clrScreen) << "a cell corner";
    DibCanvas after(rcClient.Width(), rcClient.Height(), clrScreen);
    Paint(after, m_menu);
    EXPECT_EQ(canvas9.Pixel(16, 16), after.Pixel(16, 16)) << "a cell centre shows the menu";
    EXPECT_EQ(canvas9.Pixel(48, 20), after.Pixel(48, 20));
    m_menu.ReleaseAnimationResources();
}
