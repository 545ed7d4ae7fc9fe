// A menu joined to the button it drops from: which themes join it for combine mode 0x20,
// the window covering the button, the owner's painter filling the button part over the
// menu's own background, and a sub-menu joined to its parent's item.
#include "tests/toolkit/menus/menu_test_kit.h"

#include "support/dib_canvas.h"

using namespace menukit;
using testsupport::DibCanvas;
using testsupport::PumpPending;

namespace {

const COLORREF kButtonMark = RGB(10, 200, 30);
const CRect kButton(200, 200, 260, 222);
int g_nCallbacks = 0;
int g_nSide = 0;

void PaintButtonPart(LPVOID, CDC& dc, const CWnd& wnd, const CRect&, int nSide)
{
    g_nCallbacks++;
    g_nSide = nSide;
    CRect rc(kButton);
    wnd.ScreenToClient(&rc);
    dc.FillSolidRect(&rc, kButtonMark);
}

typedef ReceiverTest CombinedMenuTest;

}  // namespace

TEST_F(CombinedMenuTest, CombinedMenuIsPaintedOverItsButton)
{
    const struct
    {
        CRuntimeClass* pTheme;
        const char* sName;
        UINT nCombine;
        bool bCombined;
        int nBackgroundId;
    } cases[] = {
        {RUNTIME_CLASS(CExtPaintManagerXP), "XP", CExtPopupMenuWnd::TMF_COMBINE_BY_PM, true, 2001},
        {RUNTIME_CLASS(CExtPaintManagerOffice2003), "Office 2003", CExtPopupMenuWnd::TMF_COMBINE_BY_PM, false, 2001},
        {RUNTIME_CLASS(CExtPaintManagerStudio2005), "Studio 2005", CExtPopupMenuWnd::TMF_COMBINE_BY_PM, false, 2001},
        {RUNTIME_CLASS(CExtPaintManager), "base", CExtPopupMenuWnd::TMF_COMBINE_ALWAYS, true, 1000},
    };
    for (const auto& c : cases)
    {
        g_CurrentPaintManager.InstallPaintManagerByClass(c.pTheme);
        CExtPopupMenuWnd* pMenu = NewMenu();
        pMenu->ItemInsertCommand(0x7E01, -1, "Alpha");
        pMenu->ItemInsertCommand(0x7E02, -1, "Beta");
        ASSERT_TRUE(pMenu->TrackPopupMenu(kQuick | 4 | c.nCombine, 0, 0, &kButton, NULL, PaintButtonPart)) << c.sName;
        CRect rcWnd, rcP;
        pMenu->GetWindowRect(&rcWnd);
        pMenu->GetPaintRect(rcP);
        EXPECT_EQ(rcWnd.top, c.bCombined ? kButton.top : kButton.bottom) << c.sName;
        EXPECT_EQ(pMenu->m_nCombineSide, c.bCombined ? 1 : 0) << c.sName << ": 1, the menu lies below its button";
        DibCanvas canvas(rcWnd.Width(), rcWnd.Height(), RGB(255, 0, 255));
        g_nCallbacks = g_nSide = 0;
        CDC dc;
        dc.Attach(canvas.Dc());
        pMenu->OnPaintMenu(dc, false);
        dc.Detach();
        EXPECT_EQ(canvas.Pixel(rcP.right - 8, rcP.bottom - 4),
                  g_CurrentPaintManager.GetPM()->LookupColor(c.nBackgroundId, pMenu))
            << c.sName << ": the menu's own part";
        EXPECT_EQ(g_nCallbacks > 0, c.bCombined) << c.sName;
        if (c.bCombined)
        {
            EXPECT_EQ(g_nSide, 1) << c.sName;
            EXPECT_EQ(canvas.Pixel(kButton.Width() / 2, kButton.Height() / 2), kButtonMark) << c.sName;
            EXPECT_EQ(rcP.top, kButton.Height() - 1) << c.sName << ": one pixel over the button";
            // A press on the button part closes the menu, as a press on the button would.
            EXPECT_TRUE(Click(pMenu, WM_LBUTTONDOWN, CPoint(kButton.Width() / 2, kButton.Height() / 2)));
            EXPECT_FALSE(CExtPopupMenuWnd::IsMenuTracking()) << c.sName;
        }
        CExtPopupMenuWnd::CancelMenuTracking();
        PumpPending();
    }
}

TEST_F(CombinedMenuTest, SubMenuJoinsItsParentsItemWhenTheThemeAgrees)
{
    for (bool bXP : {true, false})
    {
        g_CurrentPaintManager.InstallPaintManagerByClass(bXP ? RUNTIME_CLASS(CExtPaintManagerXP)
                                                             : RUNTIME_CLASS(CExtPaintManagerOffice2003));
        CExtPopupMenuWnd* pMenu = NewMenu();
        pMenu->ItemInsert(CExtPopupMenuWnd::TYPE_POPUP, -1, "&More");
        pMenu->ItemGetPopup(0)->ItemInsertCommand(0x7E03, -1, "Inner");
        pMenu->ItemGetInfo(0).m_nLayoutFlags |= MID::__MIF_COMBINED_SUBMENU;
        ASSERT_TRUE(pMenu->TrackPopupMenu(kQuick, 100, 100));
        pMenu->SelectItem(0, true, true, false);
        CExtPopupMenuWnd* pSub = pMenu->ItemGetPopup(0);
        ASSERT_NE(pSub->GetSafeHwnd(), (HWND)NULL);
        EXPECT_TRUE(pSub->IsCombinedWithParentItem()) << "the parent-item painter is its callback";
        EXPECT_EQ(pSub->m_nCombineSide != 0, bXP) << (bXP ? "XP" : "Office 2003");
        CExtPopupMenuWnd::CancelMenuTracking();
        PumpPending();
    }
}
