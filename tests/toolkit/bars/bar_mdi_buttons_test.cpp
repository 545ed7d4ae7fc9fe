// The menu bar's MDI buttons for a maximized MDI child: the document button stands for
// the child, the right button lays its caption parts out as one group, names them in
// tips and sends the child their commands; a double click on the document button closes
// the child unless its close command is grayed.
#include <gtest/gtest.h>

#include <vector>

#include "framework/afxres.h"
#include "framework/framework.h"
#include "framework/mdi.h"
#include "support/message_pump.h"
#include "toolkit/bars/bar_mdi_buttons.h"
#include "toolkit/core/cmd_manager.h"
#include "toolkit/theme/paint_manager.h"
#include "bars_menubar_test_ids.h"

using testsupport::PumpPending;
using testsupport::PumpUntil;

namespace {

const char* const kMdiProfile = "MdiButtonsTestProfile";

struct MdiSetup
{
    CMDIFrameWnd* pFrame = new CMDIFrameWnd;
    CExtMenuControlBar* pBar = new CExtMenuControlBar;
    CMDIChildWnd* pChild = new CMDIChildWnd;

    bool Create(DWORD dwChildStyle, DWORD dwChildExStyle)
    {
        if (!pFrame->Create(NULL, "Mdi", WS_OVERLAPPEDWINDOW, CRect(40, 40, 640, 340), NULL,
                            MAKEINTRESOURCE(IDR_MB_MENU)))
            return false;
        g_CommandManager->ProfileSetup(kMdiProfile, pFrame->m_hWnd);
        if (!pBar->Create("Menu", pFrame, 0xE901, WS_CHILD | WS_VISIBLE | CBRS_TOP))
            return false;
        pFrame->ShowWindow(SW_SHOW);
        if (!pChild->Create(NULL, "Doc", WS_CHILD | WS_VISIBLE | dwChildStyle, CRect(0, 0, 200, 100), pFrame))
            return false;
        pChild->ModifyStyleEx(0, dwChildExStyle);
        pChild->SendMessage(WM_SETICON, ICON_SMALL, (LPARAM)::LoadIcon(NULL, IDI_APPLICATION));
        pChild->MDIMaximize();
        return PumpUntil([this] { return Right() != NULL; }, 1000);
    }
    CExtBarMdiDocButton* Doc() const
    {
        CExtBarButton* p = pBar->GetButtonsCount() > 0 ? pBar->GetButton(0) : NULL;
        return p != NULL && !p->IsKindOf(RUNTIME_CLASS(CExtBarMdiRightButton)) ? DYNAMIC_DOWNCAST(CExtBarMdiDocButton, p)
                                                                                : NULL;
    }
    CExtBarMdiRightButton* Right() const
    {
        for (int i = pBar->GetButtonsCount() - 1; i >= 0 && i >= pBar->GetButtonsCount() - 2; i--)
            if (CExtBarMdiRightButton* p = DYNAMIC_DOWNCAST(CExtBarMdiRightButton, pBar->GetButton(i)))
                return p;
        return NULL;
    }
    ~MdiSetup()
    {
        pBar->DestroyWindow();
        delete pBar;
        pFrame->DestroyWindow();
        g_CommandManager->ProfileDestroy(kMdiProfile, true);
    }
};

}  // namespace

TEST(MdiButtons, CaptionPartsTheirTipsAndClicksPerChildStyle)
{
    ASSERT_TRUE(g_CurrentPaintManager.InstallPaintManager(new CExtPaintManagerXP));
    const MDI_RIGHT_BUTTONS_INFO metrics;
    const int cx = metrics.m_cxButton;
    // The parts' tips left to right, and the part clicked.
    struct Case
    {
        const char* name;
        DWORD dwStyle, dwExStyle;
        std::vector<int> tipsLeftToRight;
        int nClickPart;  // restore, then maximize (restored through the MDI client)
    } cases[] = {
        {"min and max boxes", WS_OVERLAPPEDWINDOW, 0,
         {AFX_IDS_SCMINIMIZE, AFX_IDS_SCRESTORE, AFX_IDS_SCCLOSE}, 1},
        {"max box and help", WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MAXIMIZEBOX, WS_EX_CONTEXTHELP,
         {ID_CONTEXT_HELP, AFX_IDS_SCMAXIMIZE, AFX_IDS_SCCLOSE}, 1},
    };
    for (const Case& c : cases)
    {
        MdiSetup mdi;
        ASSERT_TRUE(mdi.Create(c.dwStyle, c.dwExStyle)) << c.name;
        CExtBarMdiRightButton* pRight = mdi.Right();
        ASSERT_TRUE(pRight != NULL && mdi.Doc() != NULL) << c.name;
        EXPECT_EQ(mdi.pChild, mdi.Doc()->GetCmdTargetWnd()) << c.name;
        EXPECT_TRUE(mdi.Doc()->GetIconPtr() != NULL) << c.name;
        EXPECT_EQ(CSize(19, 19), mdi.Doc()->GetSize()) << c.name;
        const int nParts = (int)c.tipsLeftToRight.size();
        const CRect rc = pRight->GetRect();
        EXPECT_EQ(2 + nParts * (cx + 2), rc.Width()) << c.name;
        CRect rcClient;
        mdi.pBar->GetClientRect(&rcClient);
        EXPECT_EQ(rcClient.right - 1, rc.right) << c.name << ": the group ends at the far edge";
        for (int i = 0; i < nParts; i++)
        {
            const CPoint pt(rc.left + 2 + i * (cx + 2) + cx / 2, rc.CenterPoint().y);
            TOOLINFO ti = {};
            EXPECT_EQ(c.tipsLeftToRight[i], pRight->OnToolHitTest(pt, &ti)) << c.name << " part " << i;
            EXPECT_EQ(CRect(rc.left + 2 + i * (cx + 2), ti.rect.top, rc.left + 2 + i * (cx + 2) + cx, ti.rect.bottom),
                      CRect(ti.rect))
                << c.name << " part " << i;
            if (ti.lpszText != NULL && ti.lpszText != LPSTR_TEXTCALLBACK)
                ::free(ti.lpszText);
        }
        EXPECT_EQ(-1, pRight->OnToolHitTest(CPoint(rc.left + 1, rc.top + 1), NULL)) << c.name;

        const CPoint ptClick(rc.left + 2 + c.nClickPart * (cx + 2) + cx / 2, rc.CenterPoint().y);
        pRight->OnClick(ptClick, true);
        EXPECT_TRUE(mdi.pChild->IsZoomed()) << c.name << ": nothing on button down";
        pRight->OnClick(ptClick, false);
        PumpUntil([&] { return !mdi.pChild->IsZoomed(); }, 1000);
        EXPECT_FALSE(mdi.pChild->IsZoomed()) << c.name << ": the child is restored";
        PumpUntil([&] { return mdi.Right() == NULL && mdi.Doc() == NULL; }, 1000);
        EXPECT_TRUE(mdi.Right() == NULL && mdi.Doc() == NULL) << c.name << ": the buttons go";
    }
}

TEST(MdiButtons, DoubleClickOnTheDocumentButtonClosesUnlessCloseIsGrayed)
{
    for (bool bGrayed : {true, false})
    {
        MdiSetup mdi;
        ASSERT_TRUE(mdi.Create(WS_OVERLAPPEDWINDOW, 0));
        HWND hWndChild = mdi.pChild->m_hWnd;
        if (bGrayed)
        {
            ::EnableMenuItem(::GetSystemMenu(hWndChild, FALSE), SC_CLOSE, MF_BYCOMMAND | MF_GRAYED);
            mdi.pBar->RecalcButtonPositions();
            EXPECT_EQ(2 + 2 * (MDI_RIGHT_BUTTONS_INFO().m_cxButton + 2), mdi.Right()->GetRect().Width())
                << "no close part";
        }
        EXPECT_TRUE(mdi.Doc()->OnDblClick(mdi.Doc()->GetRect().CenterPoint()));
        // A close is posted to the child: once the queue is empty it has either
        // happened or was never asked for.
        if (bGrayed)
            testsupport::PumpUntilIdle();
        else
            PumpUntil([&] { return !::IsWindow(hWndChild); }, 2000);
        EXPECT_EQ(bGrayed, ::IsWindow(hWndChild) != FALSE) << (bGrayed ? "grayed" : "enabled");
    }
}
