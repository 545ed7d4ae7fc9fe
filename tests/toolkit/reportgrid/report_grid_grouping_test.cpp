// The report grid under a real mouse and its painting: headers dragged into the group
// area group by their columns and dragged back ungroup them, the group-by buttons sort
// on a click and reorder on a drag, the header menu's commands, the column chooser, the
// group rows and the header per theme, and the text of an empty view.
//
// The drags run modal loops inside the button-down handlers, so the input comes from a
// second thread, step by step, while this thread pumps.
#include <gtest/gtest.h>
#include <functional>
#include <string>
#include <thread>
#include <vector>
#include "framework/framework.h"
#include "tests/support/dib_canvas.h"
#include "tests/support/message_pump.h"
#include "toolkit/grid/grid_cell_string.h"
#include "toolkit/reportgrid/column_chooser.h"
#include "toolkit/reportgrid/group_area_wnd.h"
#include "toolkit/reportgrid/report_grid_wnd.h"
#include "toolkit/theme/paint_manager.h"

using testsupport::PumpFor;
using testsupport::PumpUntil;

namespace {

// Moves the mouse to a screen point, optionally pressing or releasing the left button.
void SendMouse(CPoint pt, DWORD dwFlags)
{
    INPUT in = {};
    in.type = INPUT_MOUSE;
    in.mi.dx = pt.x * 65535 / (::GetSystemMetrics(SM_CXSCREEN) - 1);
    in.mi.dy = pt.y * 65535 / (::GetSystemMetrics(SM_CYSCREEN) - 1);
    in.mi.dwFlags = MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE | dwFlags;
    ::SendInput(1, &in, sizeof(in));
}

// A press at one point, a move past the drag threshold, and a release at the other;
// with from == to a plain click.
void Drag(CPoint from, CPoint to)
{
    std::vector<std::pair<CPoint, DWORD>> steps = {{from, 0}, {from, MOUSEEVENTF_LEFTDOWN}};
    if (from != to)
        {
        steps.push_back({from + CPoint(6, 6), 0});
        steps.push_back({CPoint((from.x + to.x) / 2, (from.y + to.y) / 2), 0});
        steps.push_back({to, 0});
    }
    steps.push_back({to, MOUSEEVENTF_LEFTUP});
    volatile bool bDone = false;
    std::thread player([&] {
        for (const auto& s : steps)
        {
            ::Sleep(40);
            SendMouse(s.first, s.second);
        }
        ::Sleep(80);
        bDone = true;
    });
    // Every step is queued once the player is done: the drop is handled when the queue
    // has run dry of input and of what its handling posted.
    testsupport::PumpUntilIdle([&] { return bDone; }, 6000);
    player.join();
}

CPoint ScreenOf(CWnd* pWnd, CPoint pt)
{
    pWnd->ClientToScreen(&pt);
    return pt;
}

// Names, sizes and kinds of four files; grouped by Kind they make two groups.
const char* const g_arrData[4][3] = {
    {"b.txt", "2", "text"}, {"a.png", "7", "image"}, {"c.txt", "7", "text"}, {"d.png", "2", "image"}};

// A report grid of the three columns Name, Size, Kind in a visible popup at (100, 100).
struct ReportGridGroupingTest : testing::Test
{
    HWND m_hParent = NULL;
    CExtReportGridWnd* m_pGrid = NULL;
    CExtReportGridColumn* m_arrColumns[3] = {};

    void SetUp() override
    {
        g_CurrentPaintManager.InstallPaintManagerByClass(RUNTIME_CLASS(CExtPaintManagerXP));
        m_hParent = ::CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 100, 100, 420, 300,
                                      NULL, NULL, NULL, NULL);
        m_pGrid = new CExtReportGridWnd;
        ASSERT_TRUE(m_pGrid->Create(CWnd::FromHandle(m_hParent), CRect(0, 0, 420, 300), 1));
        const char* arrNames[3] = {"Name", "Size", "Kind"};
        for (int c = 0; c < 3; c++)
            ASSERT_NE(nullptr, m_arrColumns[c] = m_pGrid->ColumnRegister(arrNames[c], "File", true, false));
        CTypedPtrArray<CPtrArray, CExtReportGridItem*> arrItems;
        arrItems.SetSize(4);
        ASSERT_TRUE(m_pGrid->ItemsRegister(arrItems, false, false));
        for (int r = 0; r < 4; r++)
            for (int c = 0; c < 3; c++)
                m_pGrid->ItemCellGet(m_arrColumns[c], arrItems[r], RUNTIME_CLASS(CExtGridCellString))
                    ->TextSet(g_arrData[r][c]);
        m_pGrid->ShowGroupArea(true);
        m_pGrid->RebuildItems(true);
        ::SetActiveWindow(m_hParent);
        ::SetFocus(m_pGrid->m_hWnd);
        testsupport::PumpUntilIdle([&] {
            return ::GetActiveWindow() == m_hParent && ::GetFocus() == m_pGrid->m_hWnd &&
                   !::GetUpdateRect(m_pGrid->m_hWnd, NULL, FALSE);
        });
    }
    void TearDown() override
    {
        if (m_pGrid != NULL)
        {
            m_pGrid->DestroyWindow();
            delete m_pGrid;
        }
        ::DestroyWindow(m_hParent);
    }
    CExtReportGridGroupAreaWnd* Area()
    {
        return DYNAMIC_DOWNCAST(CExtReportGridGroupAreaWnd, m_pGrid->GetGroupArea());
    }
    // "Kind+,Size-" style: the group-by columns with their directions.
    std::string Groups()
    {
        const CExtReportGridSortOrder& order = m_pGrid->SortOrderGet();
        std::string s;
        for (int i = 0; i < order.GetGroupCount(); i++)
        {
            bool bAscending = true;
            CExtReportGridColumn* pColumn = order.ItemGet(i, &bAscending);
            s += std::string(i ? "," : "") + pColumn->ColumnNameGet() + (bAscending ? "+" : "-");
        }
        return s;
    }
    // The active columns in header order.
    std::string Header()
    {
        std::string s;
        CExtReportGridDataProvider& dp = m_pGrid->GetReportDataProvider();
        for (int i = 0; i < dp.ActiveColumnCountGet(); i++)
            s += std::string(i ? "," : "") + dp.ActiveColumnGet(i)->ColumnNameGet();
        return s;
    }
    CPoint HeaderCenter(int nColumn)
    {
        RECT rc;
        m_pGrid->GetCellRects(nColumn, 0, 0, -1, &rc, NULL);
        return ScreenOf(m_pGrid, CRect(rc).CenterPoint());
    }
    CPoint ButtonCenter(int nButton)
    {
        CArray<CRect, const CRect&> arrRects;
        Area()->GetItemRects(arrRects);
        return ScreenOf(Area(), arrRects[nButton].CenterPoint());
    }
    void GroupBy(std::initializer_list<int> columns)
    {
        CExtReportGridSortOrder order;
        for (int c : columns)
            order.ItemInsert(m_arrColumns[c], -1, true);
        order.SetGroupCount((int)columns.size());
        ASSERT_TRUE(m_pGrid->SortOrderSet(order, false, true));
    }
};

}  // namespace

TEST_F(ReportGridGroupingTest, HeadersDraggedIntoTheGroupAreaGroupAndDraggedBackUngroup)
{
    struct Case
    {
        const char* name;
        std::function<CPoint()> from, to;
        const char *szGroups, *szHeader;
    } cases[] = {
        {"Size onto the empty area", [&] { return HeaderCenter(1); }, [&] { return ScreenOf(Area(), CPoint(60, 15)); },
         "Size+", "Name,Kind"},
        {"Kind before the Size button", [&] { return HeaderCenter(1); }, [&] { return ScreenOf(Area(), CPoint(3, 15)); },
         "Kind+,Size+", "Name"},
        {"the Kind button back onto the header's right end", [&] { return ButtonCenter(0); },
         [&] { return HeaderCenter(0) + CPoint(60, 0); }, "Size+", "Name,Kind"},
        {"the Size button dropped on nothing", [&] { return ButtonCenter(0); },
         [&] { return ScreenOf(m_pGrid, CPoint(200, 250)); }, "", "Name,Kind,Size"},
    };
    for (const Case& c : cases)
    {
        PumpFor(::GetDoubleClickTime() + 20);
        Drag(c.from(), c.to());
        EXPECT_EQ(c.szGroups, Groups()) << c.name;
        EXPECT_EQ(c.szHeader, Header()) << c.name;
        EXPECT_EQ(nullptr, CExtReportGridGroupAreaWnd::g_pColumnDragging) << c.name;
    }
    // Grouped by Kind then Size: image/2, image/7, text/2, text/7 under two kind rows.
    GroupBy({2, 1});
    EXPECT_EQ(2u, m_pGrid->GetTreeProvider()->TreeNodeGetRoot()->TreeNodeGetChildCount());
}

TEST_F(ReportGridGroupingTest, TheStaircaseButtonsSortOnAClickAndReorderOnADrag)
{
    GroupBy({2, 1});
    CArray<CRect, const CRect&> arrRects;
    ASSERT_EQ(2, Area()->GetItemRects(arrRects));
    EXPECT_EQ(CPoint(10, 8), arrRects[0].TopLeft());
    EXPECT_EQ(CPoint(arrRects[0].right + 4, arrRects[0].top + 9), arrRects[1].TopLeft());
    SIZE size;
    Area()->CalcSize(size);
    EXPECT_EQ(std::max<LONG>(34, 8 + arrRects[0].Height() + 9 + 7), size.cy);
    struct Case
    {
        const char* name;
        int nButton;
        std::function<CPoint()> to;
        const char* szGroups;
    } cases[] = {
        {"a click reverses Kind", 0, nullptr, "Kind-,Size+"},
        {"a second click restores it", 0, nullptr, "Kind+,Size+"},
        {"Size dropped just after itself changes nothing", 1,
         [&] { return ScreenOf(Area(), CPoint(arrRects[1].right + 2, 20)); }, "Kind+,Size+"},
        {"Size dragged before Kind", 1, [&] { return ScreenOf(Area(), CPoint(11, 20)); }, "Size+,Kind+"},
    };
    for (const Case& c : cases)
    {
        PumpFor(::GetDoubleClickTime() + 20);
        const CPoint from = ButtonCenter(c.nButton);
        Drag(from, c.to ? c.to() : from);
        EXPECT_EQ(c.szGroups, Groups()) << c.name;
    }
}

namespace {

// Records what an update handler makes of a menu item.
class CRecordingCmdUI : public CCmdUI
{
public:
    int m_nEnabled = -1, m_nCheck = -1, m_nRadio = -1;
    void Enable(BOOL bOn) override { m_nEnabled = bOn ? 1 : 0; }
    void SetCheck(int nCheck) override { m_nCheck = nCheck; }
    void SetRadio(BOOL bOn) override { m_nRadio = bOn ? 1 : 0; }
};

}  // namespace

TEST_F(ReportGridGroupingTest, TheHeaderMenuCommandsActOnTheClickedColumn)
{
    struct Case
    {
        const char* name;
        int nColumn;
        UINT nCmd;
        const char *szGroups, *szHeader;
        int nSortEntries;
    } cases[] = {
        {"sort Size descending", 1, 30454, "", "Name,Size,Kind", 1},
        {"group by Size keeps its direction", 1, 30455, "Size-", "Name,Kind", 1},
        {"group by Size again ungroups it to the right end", 1, 30455, "", "Name,Kind,Size", 0},
        {"group by Kind", 2, 30455, "Kind+", "Name,Size", 1},
        {"remove the grouped Kind: ungrouped and hidden", 2, 30459, "", "Name,Size", 0},
        {"remove Name", 0, 30459, "", "Size", 0},
    };
    for (const Case& c : cases)
    {
        m_pGrid->m_pContextColumn = m_arrColumns[c.nColumn];
        m_pGrid->SendMessage(WM_COMMAND, c.nCmd, 0);
        EXPECT_EQ(c.szGroups, Groups()) << c.name;
        EXPECT_EQ(c.szHeader, Header()) << c.name;
        EXPECT_EQ(c.nSortEntries, m_pGrid->SortOrderGet().GetCount()) << c.name;
    }
    // The update handlers: Size is sorted neither way now, Kind's alignment menu is off.
    m_arrColumns[2]->AlignmentMenuSet(false);
    struct UiCase
    {
        int nColumn;
        UINT nCmd;
        int nEnabled, nCheck, nRadio;
    } uiCases[] = {
        {1, 30453, 1, -1, 0}, {1, 30455, 1, 0, -1}, {2, 30461, 0, -1, 0}, {1, 30462, 1, -1, 0},
        {1, 30464, 1, -1, 1}, {1, 30456, 1, 1, -1}, {-1, 30459, 0, -1, -1},
    };
    for (const UiCase& u : uiCases)
    {
        m_pGrid->m_pContextColumn = u.nColumn >= 0 ? m_arrColumns[u.nColumn] : NULL;
        CRecordingCmdUI ui;
        ui.m_nID = u.nCmd;
        m_pGrid->OnCmdMsg(u.nCmd, (int)CN_UPDATE_COMMAND_UI, &ui, NULL);
        EXPECT_EQ(u.nEnabled, ui.m_nEnabled) << u.nCmd;
        EXPECT_EQ(u.nCheck, ui.m_nCheck) << u.nCmd;
        EXPECT_EQ(u.nRadio, ui.m_nRadio) << u.nCmd;
    }
    // Centring Size marks the centre command from then on.
    m_pGrid->m_pContextColumn = m_arrColumns[1];
    m_pGrid->SendMessage(WM_COMMAND, 30462, 0);
    CRecordingCmdUI ui;
    ui.m_nID = 30462;
    m_pGrid->OnCmdMsg(30462, (int)CN_UPDATE_COMMAND_UI, &ui, NULL);
    EXPECT_EQ(1, ui.m_nRadio);
}

TEST_F(ReportGridGroupingTest, ASortableHeaderTipsSortByItsName)
{
    struct Case
    {
        bool bSortable;
        const char* szTip;
    } cases[] = {{true, "Sort by: Size"}, {false, ""}};
    for (const Case& c : cases)
    {
        m_arrColumns[1]->SortingEnabledSet(c.bSortable);
        CExtGridBaseWnd::HIT_TEST_INFO hti(HeaderCenter(1));
        m_pGrid->ScreenToClient(&hti.m_ptClient);
        m_pGrid->HitTest(hti);
        ASSERT_EQ(1, hti.m_nColNo);
        CString strTip;
        EXPECT_EQ(c.bSortable, m_pGrid->OnGridCellQueryTipText(*m_arrColumns[1], hti, strTip));
        EXPECT_STREQ(c.szTip, (LPCTSTR)strTip);
    }
}

TEST_F(ReportGridGroupingTest, TheColumnChooserOffersHiddenColumnsByName)
{
    CExtReportGridColumnChooserWnd* pChooser =
        DYNAMIC_DOWNCAST(CExtReportGridColumnChooserWnd, m_pGrid->GetColumnChooser());
    ASSERT_NE(nullptr, pChooser);
    auto fields = [&] {
        std::string s;
        for (int r = 0; r < pChooser->GetRowCount(); r++)
            s += std::string(r ? "," : "") + pChooser->FieldColumnGet(r)->ColumnNameGet();
        return s;
    };
    struct Case
    {
        const char* name;
        std::function<void()> act;
        const char* szFields;
    } cases[] = {
        {"nothing hidden", [] {}, ""},
        {"Size and Name hidden",
         [&] {
             m_pGrid->ColumnActivate(m_arrColumns[1], false, -1, true);
             m_pGrid->ColumnActivate(m_arrColumns[0], false, -1, true);
         },
         "Name,Size"},
        {"a grouped hidden column stands in the group area instead", [&] { GroupBy({1}); }, "Name"},
        {"shown again", [&] { m_pGrid->ColumnActivate(m_arrColumns[0], true, -1, true); }, ""},
    };
    for (const Case& c : cases)
    {
        c.act();
        m_pGrid->RefreshColumnChooser();
        EXPECT_EQ(c.szFields, fields()) << c.name;
    }
    // A field dragged from the chooser onto the header's left edge shows its column first.
    m_pGrid->ColumnActivate(m_arrColumns[2], false, -1, true);
    m_pGrid->RefreshColumnChooser();
    ASSERT_EQ("Kind", fields());
    // Floating, the chooser lives in its own tool frame with only Move, Size and Close.
    pChooser->DockPositionSet(AFX_IDW_DOCKBAR_FLOAT);
    m_pGrid->ShowColumnChooser(true);
    CWnd* pFrame = pChooser->GetParent();
    ASSERT_TRUE(pFrame != NULL && pFrame->IsKindOf(RUNTIME_CLASS(CExtReportGridColumnChooserMiniFrameWnd)));
    EXPECT_TRUE(m_pGrid->IsColumnChooserVisible());
    CMenu* pSysMenu = pFrame->GetSystemMenu(FALSE);
    std::vector<UINT> arrIDs;
    for (int i = 0; pSysMenu != NULL && i < (int)pSysMenu->GetMenuItemCount(); i++)
        arrIDs.push_back(pSysMenu->GetMenuItemID(i));
    EXPECT_EQ(std::vector<UINT>({SC_MOVE, SC_SIZE, SC_CLOSE}), arrIDs);
    pFrame->SendMessage(WM_CLOSE);
    EXPECT_FALSE(m_pGrid->IsColumnChooserVisible());
    EXPECT_EQ(pFrame, pChooser->GetParent());
    // Docked at the right it takes its 150 pixels of the grid.
    pChooser->DockPositionSet(AFX_IDW_DOCKBAR_RIGHT);
    m_pGrid->ShowColumnChooser(true);
    testsupport::PumpUntilIdle([&] { return pChooser->IsWindowVisible() != FALSE; });
    CRect rcChooser, rcGrid;
    pChooser->GetWindowRect(&rcChooser);
    m_pGrid->GetWindowRect(&rcGrid);
    EXPECT_EQ(CRect(rcGrid.right - 150, rcGrid.top, rcGrid.right, rcGrid.bottom), rcChooser);
    ASSERT_TRUE(pChooser->IsWindowVisible());
    RECT rcField;
    pChooser->GetCellRects(0, 0, 0, 0, &rcField, NULL);
    Drag(ScreenOf(pChooser, CRect(rcField).CenterPoint()), HeaderCenter(0) - CPoint(20, 0));
    EXPECT_EQ("Kind,Name", Header());
    EXPECT_EQ("", fields());
}

TEST_F(ReportGridGroupingTest, TheCategoryComboRefillsTheChooserWhenItsSelectionChanges)
{
    ASSERT_NE(nullptr, m_pGrid->ColumnRegister("Owner", "Extra", false, false));
    m_pGrid->ColumnActivate(m_arrColumns[0], false, -1, true);
    m_pGrid->ShowColumnChooser(true);
    m_pGrid->ShowCategoryComboBox(true);
    CExtReportGridColumnChooserWnd* pChooser =
        DYNAMIC_DOWNCAST(CExtReportGridColumnChooserWnd, m_pGrid->GetColumnChooser());
    CWnd* pCombo = m_pGrid->GetCategoryComboBox();
    ASSERT_TRUE(pChooser != NULL && pCombo != NULL);
    ASSERT_TRUE(m_pGrid->IsCategoryComboBoxVisible());
    EXPECT_EQ(pChooser->m_hWnd, ::GetParent(pCombo->m_hWnd));
    const struct
    {
        const char* szCategory;
        const char* szFields;
    } cases[] = {{"File", "Name"}, {"Extra", "Owner"}, {"File", "Name"}};
    for (const auto& c : cases)
    {
        ASSERT_GE(pCombo->SendMessage(CB_SELECTSTRING, (WPARAM)-1, (LPARAM)c.szCategory), 0) << c.szCategory;
        pChooser->SendMessage(WM_COMMAND, MAKEWPARAM(pCombo->GetDlgCtrlID(), CBN_SELCHANGE), (LPARAM)pCombo->m_hWnd);
        EXPECT_STREQ(c.szCategory, (LPCTSTR)pChooser->CategoryGet()) << c.szCategory;
        std::string s;
        for (int r = 0; r < pChooser->GetRowCount(); r++)
            s += std::string(r ? "," : "") + pChooser->FieldColumnGet(r)->ColumnNameGet();
        EXPECT_EQ(c.szFields, s) << c.szCategory;
    }
    // Floating and docked again, the chooser moves into its frame and back with its combo box.
    pChooser->DockPositionSet(AFX_IDW_DOCKBAR_FLOAT);
    CWnd* pFrame = pChooser->GetParent();
    ASSERT_TRUE(pFrame != NULL && pFrame->IsKindOf(RUNTIME_CLASS(CExtReportGridColumnChooserMiniFrameWnd)));
    EXPECT_TRUE(pFrame->IsWindowVisible());
    const HWND hFrame = pFrame->m_hWnd;
    pChooser->DockPositionSet(AFX_IDW_DOCKBAR_LEFT);
    EXPECT_EQ(m_pGrid->m_hWnd, ::GetParent(pChooser->m_hWnd));
    EXPECT_FALSE(::IsWindow(hFrame));
    EXPECT_TRUE(m_pGrid->IsCategoryComboBoxVisible());
}

TEST_F(ReportGridGroupingTest, GroupRowsAndTheHeaderPaintTheirColoursInEveryTheme)
{
    GroupBy({2});
    CRuntimeClass* themes[] = {RUNTIME_CLASS(CExtPaintManagerXP), RUNTIME_CLASS(CExtPaintManagerOffice2003),
                               RUNTIME_CLASS(CExtPaintManagerStudio2005)};
    CRect rcClient;
    m_pGrid->GetClientRect(&rcClient);
    LONG nLeafBand = 0, nLeafPlain = 0;
    for (CRuntimeClass* pTheme : themes)
    {
        ASSERT_TRUE(g_CurrentPaintManager.InstallPaintManagerByClass(pTheme));
        for (bool bBand : {true, false})
        {
            SCOPED_TRACE(std::string(pTheme->m_lpszClassName) + (bBand ? " band" : " plain"));
            m_pGrid->ModifyReportStyle(bBand ? 0x02 : 0, bBand ? 0 : 0x02, true);
            m_pGrid->FocusUnset(false);
            testsupport::DibCanvas canvas(rcClient.Width(), rcClient.Height(), RGB(1, 2, 3));
            CDC dc;
            dc.Attach(canvas.Dc());
            m_pGrid->OnPaintItems(dc, false);
            dc.Detach();
            auto color = [&](int n) { return m_pGrid->GetColor(n); };
            // Row 0 is the first group row; the caption band spans the whole row.
            RECT rcExtent, rcCell;
            ASSERT_TRUE(m_pGrid->GetCellRects(1, 0, 0, 0, &rcExtent, &rcCell));
            const int x = rcCell.left + 10;
            if (bBand)
            {
                EXPECT_EQ(color(COLOR_BTNSHADOW), canvas.Pixel(x, rcCell.bottom - 1));
                EXPECT_EQ(color(COLOR_BTNSHADOW), canvas.Pixel(x, rcCell.bottom - 2));
            }
            else
            {
                EXPECT_EQ(color(COLOR_WINDOW), canvas.Pixel(x, rcCell.top));
                EXPECT_EQ(color(COLOR_BTNFACE), canvas.Pixel(x, rcCell.top + 2));
            }
            // A leaf under a caption band gives up one indent level.
            RECT rcLeaf;
            ASSERT_TRUE(m_pGrid->GetCellRects(0, 1, 0, 0, NULL, &rcLeaf));
            (bBand ? nLeafBand : nLeafPlain) = rcLeaf.left;
            // The band-style header is the built-in image: flat face, darker last rows.
            RECT rcHeader;
            ASSERT_TRUE(m_pGrid->GetCellRects(0, 0, 0, -1, &rcHeader, NULL));
            if (bBand)
            {
                EXPECT_EQ(RGB(236, 233, 216), canvas.Pixel(rcHeader.right - 6, rcHeader.top + 1));
                EXPECT_EQ(RGB(197, 194, 178), canvas.Pixel(rcHeader.right - 6, rcHeader.bottom - 1));
            }
        }
    }
    EXPECT_EQ(m_pGrid->GetTreeProvider()->IndentDefaultGet(), nLeafPlain - nLeafBand);
    g_CurrentPaintManager.InstallPaintManagerByClass(RUNTIME_CLASS(CExtPaintManagerXP));
}

TEST_F(ReportGridGroupingTest, AnEmptyViewSaysSoBelowTheHeader)
{
    while (m_pGrid->GetRowCount() > 0)
        m_pGrid->ItemUnregister(m_pGrid->ItemFromNode(m_pGrid->ItemGetByVisibleRow(0)), false, false);
    CRect rcClient, rcData;
    m_pGrid->GetClientRect(&rcClient);
    testsupport::DibCanvas canvas(rcClient.Width(), rcClient.Height(), RGB(1, 2, 3));
    CDC dc;
    dc.Attach(canvas.Dc());
    m_pGrid->OnPaintItems(dc, false);
    dc.Detach();
    m_pGrid->GetClientRectEx(&rcData);
    const COLORREF clrText = m_pGrid->GetColor(COLOR_BTNTEXT);
    const RECT rcMargin = {rcData.left, rcData.top, rcData.right, rcData.top + 5};
    const RECT rcLine = {rcData.left + 5, rcData.top + 5, rcData.right - 5, rcData.top + 25};
    EXPECT_EQ(0, canvas.Count(clrText, rcMargin));
    EXPECT_GT(canvas.Count(clrText, rcLine), 20);
    // Centred, not left-aligned: ink keeps well away from both edges.
    int xFirst = -1, xLast = -1;
    for (int xx = rcLine.left; xx < rcLine.right; xx++)
        for (int yy = rcLine.top; yy < rcLine.bottom; yy++)
            if (canvas.Pixel(xx, yy) == clrText)
            {
                if (xFirst < 0)
                    xFirst = xx;
                xLast = xx;
            }
    EXPECT_GT(xFirst - rcData.left, 50);
    EXPECT_GT(rcData.right - 1 - xLast, 50);
}

TEST_F(ReportGridGroupingTest, TheGroupAreaShowsItsHintOrItsButtonsInEveryTheme)
{
    CRuntimeClass* themes[] = {RUNTIME_CLASS(CExtPaintManagerXP), RUNTIME_CLASS(CExtPaintManagerOffice2003),
                               RUNTIME_CLASS(CExtPaintManagerStudio2005)};
    auto screenPixel = [&](CPoint ptClient) {
        const CPoint pt = ScreenOf(Area(), ptClient);
        HDC hdc = ::GetDC(NULL);
        const COLORREF clr = ::GetPixel(hdc, pt.x, pt.y);
        ::ReleaseDC(NULL, hdc);
        return clr;
    };
    for (CRuntimeClass* pTheme : themes)
    {
        SCOPED_TRACE(pTheme->m_lpszClassName);
        ASSERT_TRUE(g_CurrentPaintManager.InstallPaintManagerByClass(pTheme));
        for (bool bGrouped : {false, true})
        {
            GroupBy(bGrouped ? std::initializer_list<int>{2} : std::initializer_list<int>{});
            Area()->RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW);
            // The paint reaches the screen when the display takes the window's bits, which
            // no message tells: the wait is for the pixels checked below.
            CArray<CRect, const CRect&> arrButtons;
            Area()->GetItemRects(arrButtons);
            PumpUntil([&] {
                if (screenPixel(CPoint(3, 3)) != ::GetSysColor(COLOR_BTNSHADOW))
                    return false;
                if (!bGrouped)
                    return screenPixel(CPoint(11, 9)) == ::GetSysColor(COLOR_BTNFACE);
                return arrButtons.GetSize() == 1 &&
                       screenPixel(CPoint(arrButtons[0].right - 6, arrButtons[0].top + 1)) == RGB(236, 233, 216);
            });
            // The band's own colour shows in the top margin; below it the hint box or the
            // Kind button with the header image's face.
            EXPECT_EQ(::GetSysColor(COLOR_BTNSHADOW), screenPixel(CPoint(3, 3))) << bGrouped;
            if (!bGrouped)
                EXPECT_EQ(::GetSysColor(COLOR_BTNFACE), screenPixel(CPoint(11, 9)));
            else
            {
                CArray<CRect, const CRect&> arrRects;
                ASSERT_EQ(1, Area()->GetItemRects(arrRects));
                EXPECT_EQ(RGB(236, 233, 216), screenPixel(CPoint(arrRects[0].right - 6, arrRects[0].top + 1)));
            }
        }
    }
    g_CurrentPaintManager.InstallPaintManagerByClass(RUNTIME_CLASS(CExtPaintManagerXP));
}

namespace {

// Paints the grid's background and rows into a canvas of its client size, as its own
// painting does.
void PaintInto(CExtReportGridWnd* pGrid, testsupport::DibCanvas& canvas)
{
    canvas.Fill(RGB(1, 2, 3));
    CDC dc;
    dc.Attach(canvas.Dc());
    pGrid->OnPaintContent(dc);
    dc.Detach();
}

}  // namespace

TEST_F(ReportGridGroupingTest, PreviewTextShowsUnderEveryItemInEveryTheme)
{
    for (LONG r = 0; r < m_pGrid->GetRowCount(); r++)
    {
        CExtReportGridItem* pItem = m_pGrid->ItemFromNode(m_pGrid->ItemGetByVisibleRow(r));
        ASSERT_NE(nullptr, pItem);
        CExtGridCell* pPreview = pItem->PreviewCellGet(RUNTIME_CLASS(CExtGridCellString));
        ASSERT_NE(nullptr, pPreview);
        pPreview->TextSet("WWW preview of this file WWW");
    }
    m_pGrid->PreviewStyleSet(true);
    ::SetFocus(m_pGrid->m_hWnd);
    ASSERT_TRUE(PumpUntil([&] { return ::GetFocus() == m_pGrid->m_hWnd; }, 2000));
    CRuntimeClass* themes[] = {RUNTIME_CLASS(CExtPaintManagerXP), RUNTIME_CLASS(CExtPaintManagerOffice2003),
                               RUNTIME_CLASS(CExtPaintManagerStudio2005)};
    CRect rcClient;
    m_pGrid->GetClientRect(&rcClient);
    testsupport::DibCanvas canvas(rcClient.Width(), rcClient.Height());
    const COLORREF clrBlue = RGB(0, 0, 0xFF);
    for (CRuntimeClass* pTheme : themes)
    {
        SCOPED_TRACE(pTheme->m_lpszClassName);
        ASSERT_TRUE(g_CurrentPaintManager.InstallPaintManagerByClass(pTheme));
        m_pGrid->FocusUnset(false);
        m_pGrid->SelectionUnset(false, false);
        PaintInto(m_pGrid, canvas);
        for (LONG r = 0; r < 2; r++)
        {
            // The preview takes the space after the row's cells and 4 pixels more; on a
            // focused grid an unselected item's preview is blue.
            RECT rcExtent, rcCell;
            ASSERT_TRUE(m_pGrid->GetCellRects(0, r, 0, 0, &rcExtent, &rcCell));
            EXPECT_EQ(rcExtent.top, rcCell.top) << r;
            EXPECT_GE(rcExtent.bottom - rcCell.bottom, 4 + 8) << r;
            const RECT rcPreview = {rcExtent.left, rcCell.bottom, rcClient.right, rcExtent.bottom};
            EXPECT_GT(canvas.Count(clrBlue, rcPreview), 20) << r;
            EXPECT_EQ(0, canvas.Count(clrBlue, rcCell)) << r;
        }
        // A selected item's highlight covers its preview, written in the highlight's text
        // colour.
        m_pGrid->FocusSet(CPoint(0, 1), true, true, true, false);
        PaintInto(m_pGrid, canvas);
        RECT rcExtent, rcCell;
        ASSERT_TRUE(m_pGrid->GetCellRects(0, 1, 0, 0, &rcExtent, &rcCell));
        const RECT rcPreview = {rcExtent.left, rcCell.bottom, rcExtent.right, rcExtent.bottom};
        EXPECT_EQ(0, canvas.Count(clrBlue, rcPreview));
        EXPECT_EQ(m_pGrid->GetColor(COLOR_HIGHLIGHT), canvas.Pixel(rcExtent.right - 3, rcExtent.bottom - 2));
        EXPECT_GT(canvas.Count(m_pGrid->GetColor(COLOR_HIGHLIGHTTEXT), rcPreview), 20);
    }
    g_CurrentPaintManager.InstallPaintManagerByClass(RUNTIME_CLASS(CExtPaintManagerXP));
}

TEST_F(ReportGridGroupingTest, BandStyleGroupRowsKeepTheirSpaceAboveAndBelowInEveryTheme)
{
    GroupBy({2});
    CRuntimeClass* themes[] = {RUNTIME_CLASS(CExtPaintManagerXP), RUNTIME_CLASS(CExtPaintManagerOffice2003),
                               RUNTIME_CLASS(CExtPaintManagerStudio2005)};
    CRect rcClient;
    m_pGrid->GetClientRect(&rcClient);
    testsupport::DibCanvas canvas(rcClient.Width(), rcClient.Height());
    for (CRuntimeClass* pTheme : themes)
    {
        ASSERT_TRUE(g_CurrentPaintManager.InstallPaintManagerByClass(pTheme));
        for (bool bBand : {true, false})
        {
            SCOPED_TRACE(std::string(pTheme->m_lpszClassName) + (bBand ? " band" : " plain"));
            m_pGrid->ModifyReportStyle(bBand ? 0x02 : 0, bBand ? 0 : 0x02, false);
            m_pGrid->FocusUnset(false);
            PaintInto(m_pGrid, canvas);
            // Rows 0 and 3 are the two group rows, each over two items.
            RECT rcGroup, rcGroupCell, rcLeaf, rcLeafCell, rcNext;
            ASSERT_TRUE(m_pGrid->GetCellRects(0, 0, 0, 0, &rcGroup, &rcGroupCell));
            ASSERT_TRUE(m_pGrid->GetCellRects(0, 1, 0, 0, &rcLeaf, &rcLeafCell));
            ASSERT_TRUE(m_pGrid->GetCellRects(0, 3, 0, 0, &rcNext, NULL));
            EXPECT_EQ(bBand ? 12 : 0, rcGroupCell.top - rcGroup.top);
            EXPECT_EQ(bBand ? 4 : 0, rcGroup.bottom - rcGroupCell.bottom);
            EXPECT_EQ(rcGroup.bottom, rcLeaf.top);
            EXPECT_EQ(rcLeaf.top, rcLeafCell.top);
            EXPECT_EQ(rcLeaf.bottom, rcLeafCell.bottom);
            EXPECT_EQ(rcLeaf.bottom + (rcLeaf.bottom - rcLeaf.top), rcNext.top);
            if (!bBand)
                continue;
            // The space above the caption and below its line shows the window colour; the
            // caption's line lies right above the space below.
            const COLORREF clrWindow = m_pGrid->GetColor(COLOR_WINDOW);
            const int x = rcGroupCell.left + 40;
            for (LONG y : {rcGroup.top, rcGroup.top + 6, rcGroupCell.top - 1, rcGroupCell.bottom, rcGroup.bottom - 1})
                EXPECT_EQ(clrWindow, canvas.Pixel(x, y)) << y - rcGroup.top;
            EXPECT_EQ(m_pGrid->GetColor(COLOR_BTNSHADOW), canvas.Pixel(x, rcGroupCell.bottom - 1));
            EXPECT_EQ(m_pGrid->GetColor(COLOR_BTNSHADOW), canvas.Pixel(x, rcGroupCell.bottom - 2));
        }
    }
    m_pGrid->ModifyReportStyle(0, 0x02, false);
    g_CurrentPaintManager.InstallPaintManagerByClass(RUNTIME_CLASS(CExtPaintManagerXP));
}
