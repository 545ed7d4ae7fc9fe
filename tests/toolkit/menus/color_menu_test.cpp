// The colour menu: arrow-key moves through the grid, the cells and rows as painted in
// every theme, and the notifications a hover, a click and Enter post to the receiver.
#include <gtest/gtest.h>

#include "framework/framework.h"
#include "support/dib_canvas.h"
#include "support/message_pump.h"
#include "support/msg_recorder.h"
#include "toolkit/menus/popup_color_menu_wnd.h"
#include "toolkit/theme/paint_manager.h"

using namespace testsupport;

namespace {

typedef CExtPopupColorMenuWnd CM;
MsgRecorder* g_pRec = nullptr;

LRESULT CALLBACK ReceiverProc(HWND hWnd, UINT msg, WPARAM wp, LPARAM lp)
{
    if (g_pRec != nullptr && (msg == CM::g_nMsgNotifyColorChanged || msg == CM::g_nMsgNotifyColorChangedFinally ||
                              msg == CM::g_nMsgNotifyCustColor))
        g_pRec->Record(msg, wp, lp, hWnd, "recv", true);
    return ::DefWindowProcA(hWnd, msg, wp, lp);
}

const UINT kFlags = CExtPopupMenuWnd::TMF_NO_CMD_UI | CExtPopupMenuWnd::TMF_NO_ANIMATION |
                    CExtPopupMenuWnd::TMF_NO_SHADOW;

class ColorMenuTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = ReceiverProc;
        wc.hInstance = ::GetModuleHandleA(NULL);
        wc.lpszClassName = "ColorMenuTestReceiver";
        ::RegisterClassA(&wc);
        m_hWndRecv = ::CreateWindowA("ColorMenuTestReceiver", "", WS_POPUP, 0, 0, 10, 10, NULL, NULL, NULL, NULL);
        g_pRec = &m_rec;
    }
    void TearDown() override
    {
        CExtPopupMenuWnd::CancelMenuTracking();
        PumpPending();
        g_pRec = nullptr;
        ::DestroyWindow(m_hWndRecv);
        g_CurrentPaintManager.InstallPaintManagerByClass(RUNTIME_CLASS(CExtPaintManagerXP));
    }
    CM* Track(COLORREF clrInitial)
    {
        CM* pMenu = new CM;
        EXPECT_TRUE(pMenu->CreatePopupMenu(m_hWndRecv));
        pMenu->m_clrInitial = clrInitial;
        pMenu->m_clrDefault = RGB(1, 2, 3);
        pMenu->m_lParamCookie = 77;
        pMenu->m_pClrResult = &m_clrResult;
        if (!pMenu->TrackPopupMenu(kFlags, 300, 200))
        {
            delete pMenu;
            return nullptr;
        }
        PumpPending();
        return pMenu;
    }

    HWND m_hWndRecv = NULL;
    MsgRecorder m_rec;
    COLORREF m_clrResult = COLORREF(-1L);
};

}  // namespace

TEST(ColorMenuGrid, ArrowKeysWrapInsideRowsAndColumns)
{
    struct Case
    {
        int nColors, nIndex;
        UINT nKey;
        int nExpected;
    } const kCases[] = {
        {40, 7, VK_RIGHT, 0},   {40, 15, VK_RIGHT, 8},  {40, 8, VK_LEFT, 15},  {40, 3, VK_UP, 35},
        {40, 35, VK_DOWN, 3},   {40, 12, VK_DOWN, 20},  {40, 12, VK_UP, 4},    {40, -101, VK_LEFT, 0},
        {40, 5, VK_HOME, 5},    {16, 2, VK_UP, 10},     {16, 10, VK_DOWN, 2},  {5, 4, VK_RIGHT, 0},
        {5, 0, VK_LEFT, 4},     {5, 3, VK_UP, 3},       {5, 3, VK_DOWN, 3},    {13, 4, VK_UP, 12},
        {13, 12, VK_RIGHT, 8},  {13, 8, VK_LEFT, 12},   {13, 6, VK_UP, 6},   {0, 0, VK_LEFT, -1},
    };
    for (const Case& c : kCases)
    {
        SCOPED_TRACE(testing::Message() << c.nColors << " colours, from " << c.nIndex << ", key " << c.nKey);
        CM menu;
        menu.RemoveAllColors();
        for (int i = 0; i < c.nColors; i++)
            menu.AddColor(CM::g_colors40[i]);
        EXPECT_EQ(c.nExpected, menu.GetNextCellIndex(c.nIndex, c.nKey));
    }
    CM menu;
    menu.RemoveAllColors();
    for (int i = 0; i < 5; i++)
        menu.AddColor(CM::g_colors40[i]);
    EXPECT_EQ(CSize(5, 1), menu.GetGridSize());
    CString sName;
    EXPECT_STREQ("Pale green ", (LPCTSTR)CM::g_colors40[35].GetName());
    EXPECT_STREQ("", (LPCTSTR)menu.GetColorName(sName, 5));
    EXPECT_EQ(RGB(0, 0, 0), menu.GetColor(-1));
}

TEST_F(ColorMenuTest, CellsAndRowsInEveryTheme)
{
    struct Theme
    {
        CRuntimeClass* pClass;
        const char* sName;
        int nBackgroundId;
        int nSeparator;
    } const kThemes[] = {
        {RUNTIME_CLASS(CExtPaintManager), "base", 1000, 6},
        {RUNTIME_CLASS(CExtPaintManagerXP), "XP", 2001, 1},
        {RUNTIME_CLASS(CExtPaintManagerOffice2003), "Office 2003", 2001, 1},
        {RUNTIME_CLASS(CExtPaintManagerStudio2005), "Studio 2005", 2001, 1},
    };
    for (const Theme& t : kThemes)
    {
        SCOPED_TRACE(t.sName);
        g_CurrentPaintManager.InstallPaintManagerByClass(t.pClass);
        CM* pMenu = Track(RGB(255, 0, 0));
        ASSERT_NE(nullptr, pMenu);
        EXPECT_EQ(16, pMenu->GetSelectedIndex()) << "the initial colour's cell";
        CRect rcM;
        pMenu->GetBorderMargins(rcM);
        const CRect rcDef = pMenu->GetDefaultRowRect(), rcCust = pMenu->GetCustomRowRect();
        EXPECT_EQ(CRect(rcM.left + 3, rcM.top + 3, rcM.left + 3 + 160 - 6, rcM.top + 3 + 22), rcDef);
        const CRect rc0 = pMenu->GetCellRect(0), rc39 = pMenu->GetCellRect(39);
        EXPECT_EQ(CRect(rcM.left + 2, rcDef.bottom + t.nSeparator + 5, rcM.left + 18, rcDef.bottom + t.nSeparator + 21),
                  rc0);
        EXPECT_EQ(CPoint(rc0.left + 7 * 20, rc0.top + 4 * 20), rc39.TopLeft());
        EXPECT_EQ(rc39.bottom + rcM.top + 7, rcCust.top) << "below the grid";
        CRect rcClient;
        pMenu->GetClientRect(&rcClient);
        EXPECT_EQ(160 + rcM.left + rcM.right, rcClient.Width());

        DibCanvas canvas(rcClient.Width(), rcClient.Height(), RGB(255, 0, 255));
        CDC dc;
        dc.Attach(canvas.Dc());
        pMenu->OnPaintMenu(dc, false);
        dc.Detach();
        CExtPaintManager* pPM = g_CurrentPaintManager.GetPM();
        const COLORREF clrBk = pPM->LookupColor(t.nBackgroundId, pMenu);
        EXPECT_EQ(0, canvas.Count(RGB(255, 0, 255), rcClient)) << "every pixel painted";
        for (int i = 0; i < 40; i++)
        {
            const CRect rc = pMenu->GetCellRect(i);
            EXPECT_EQ(CM::g_colors40[i].m_clr, canvas.Pixel(rc.CenterPoint().x, rc.CenterPoint().y)) << "cell " << i;
            EXPECT_EQ(::GetSysColor(COLOR_3DDKSHADOW), canvas.Pixel(rc.left + 2, rc.top + 5)) << "frame " << i;
            EXPECT_EQ(clrBk, canvas.Pixel(rc.right + 1, rc.top + 5)) << "gap after " << i;
            if (i != 16)
            {
                EXPECT_EQ(clrBk, canvas.Pixel(rc.left, rc.top + 5)) << "flat cell " << i;
            }
        }
        const CRect rcRed = pMenu->GetCellRect(16);
        EXPECT_NE(clrBk, canvas.Pixel(rcRed.left, rcRed.top + 5)) << "the selected cell is highlighted";
        pMenu->DestroyMenuWindow(false);
        CExtPopupMenuWnd::CancelMenuTracking();
        PumpPending();
    }
}

TEST_F(ColorMenuTest, HoverPreviewsAndAChoicePostsTheFinalColour)
{
    CM* pMenu = Track(RGB(7, 7, 7));
    ASSERT_NE(nullptr, pMenu);
    EXPECT_EQ(-1, pMenu->GetSelectedIndex()) << "a colour outside the palette selects nothing";
    bool bNoEat = false;
    pMenu->OnMouseMoveTracked(WM_MOUSEMOVE, pMenu->GetCellRect(9).CenterPoint(), bNoEat);
    pMenu->OnMouseMoveTracked(WM_MOUSEMOVE, pMenu->GetCustomRowRect().CenterPoint(), bNoEat);
    pMenu->OnMouseMoveTracked(WM_MOUSEMOVE, pMenu->GetDefaultRowRect().CenterPoint(), bNoEat);
    EXPECT_TRUE(pMenu->OnKeyDown(VK_DOWN, 1, 0, bNoEat)) << "from the row to the first cell";
    EXPECT_FALSE(pMenu->OnKeyDown('A', 1, 0, bNoEat));
    EXPECT_TRUE(pMenu->OnKeyDown(VK_LEFT, 1, 0, bNoEat));
    HWND hWndMenu = pMenu->GetSafeHwnd();
    EXPECT_TRUE(pMenu->OnKeyDown(VK_RETURN, 1, 0, bNoEat));
    PumpUntil([&] { return !::IsWindow(hWndMenu); });
    EXPECT_EQ(RGB(40, 40, 40), m_clrResult);
    EXPECT_TRUE(m_rec.Matches({
        {CM::g_nMsgNotifyColorChanged, kWParam | kLParam, RGB(255, 104, 32), 77},
        {CM::g_nMsgNotifyColorChanged, kWParam | kLParam, RGB(1, 2, 3), 77},
        {CM::g_nMsgNotifyColorChanged, kWParam | kLParam, RGB(0, 0, 0), 77},
        {CM::g_nMsgNotifyColorChanged, kWParam | kLParam, RGB(40, 40, 40), 77},
        {CM::g_nMsgNotifyColorChangedFinally, kWParam | kLParam, RGB(40, 40, 40), 77},
    }));

    // A click on the custom row asks for the colour dialog and closes the menu.
    m_rec.Clear();
    pMenu = Track(RGB(0, 0, 0));
    ASSERT_NE(nullptr, pMenu);
    hWndMenu = pMenu->GetSafeHwnd();
    const CPoint ptCustom = pMenu->GetCustomRowRect().CenterPoint();
    EXPECT_TRUE(pMenu->OnMouseClickTracked(WM_LBUTTONUP, ptCustom, bNoEat));
    PumpUntil([&] { return !::IsWindow(hWndMenu); });
    EXPECT_EQ(COLORREF(-2), m_clrResult);
    EXPECT_TRUE(m_rec.Matches({{CM::g_nMsgNotifyCustColor, kWParam | kLParam, 0, 77}}));
}
