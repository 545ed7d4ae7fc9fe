// Cells inside a grid window: their parts painted per theme into a DIB (exact colours
// at chosen points), check boxes toggled by clicks and keys, and the notifications the
// grid receives.
#include <gtest/gtest.h>
#include "framework/framework.h"
#include "toolkit/grid/grid_wnd.h"
#include "toolkit/theme/paint_manager.h"
#include "toolkit/pickers/popup_control_menu.h"
#include "support/dib_canvas.h"
#include "hosted_grid_fixture.h"

using testsupport::DibCanvas;

namespace {

class CountingGrid : public CExtGridWnd
{
public:
    int m_nValueChanged = 0, m_nCheckChanged = 0;
    void OnCellValueChanged(CExtGridCell*, LONG, LONG, INT, INT, DWORD) override { m_nValueChanged++; }
    void OnCheckStateChanged(CExtGridCell*, LONG, LONG, INT, INT) override { m_nCheckChanged++; }
};

struct GridCellInGridTest : gridtests::HostedGridTest<CountingGrid>
{
    void SetUp() override
    {
        HostedGridTest::SetUp();
        CreateTwoByTwo();
    }
    void TearDown() override
    {
        HostedGridTest::TearDown();
        g_CurrentPaintManager.InstallPaintManagerByClass(RUNTIME_CLASS(CExtPaintManagerXP));
    }
    CExtGridCell* Cell(DWORD dwStyle)
    {
        CExtGridCell* pCell = m_grid.GridCellGet(0, 0, 0, 0, RUNTIME_CLASS(CExtGridCell));
        pCell->ModifyStyle(dwStyle, 0);
        return pCell;
    }
    // Paints a cell of the given band at (0, 0, cx, 20) into the canvas.
    void Paint(const CExtGridCell& cell, DibCanvas& canvas, int cx, INT nColType, INT nRowType,
               DWORD dwPaintFlags = 0)
    {
        CDC* pDC = CDC::FromHandle(canvas.Dc());
        const CRect rc(0, 0, cx, 20);
        cell.OnPaint(m_grid, *pDC, 0, 0, 0, 0, nColType, nRowType, rc, rc, rc,
                     CExtGridHitTestInfo::AreaFlagsFromTypes(nColType, nRowType), dwPaintFlags);
    }
};

}  // namespace

TEST_F(GridCellInGridTest, SortArrowAndFlatButtonsInEveryTheme)
{
    CRuntimeClass* themes[] = {RUNTIME_CLASS(CExtPaintManagerXP), RUNTIME_CLASS(CExtPaintManagerOffice2003),
                               RUNTIME_CLASS(CExtPaintManagerStudio2005)};
    m_grid.ModifyScrollItemStyleEx(CExtScrollItemWnd::__ESIS_EX_PM_COLORS_FONTS, 0, false);
    const int w = ::GetSystemMetrics(SM_CXVSCROLL);
    for (CRuntimeClass* pTheme : themes) {
        ASSERT_TRUE(g_CurrentPaintManager.InstallPaintManagerByClass(pTheme));
        CExtPaintManager* pPM = m_grid.GetPaintManager();
        SCOPED_TRACE(pTheme->m_lpszClassName);
        const COLORREF clrHi = pPM->LookupColor(COLOR_3DHIGHLIGHT), clrShadow = pPM->LookupColor(COLOR_BTNSHADOW),
                       clrDark = pPM->LookupColor(COLOR_3DDKSHADOW);
        // A sorted column header: the 10 x 10 arrow centred in the 14 x 14 part at the right.
        CExtGridCell header;
        header.ModifyStyle(CExtGridCell::__EGCS_SORT_ARROW, 0);
        DibCanvas canvas(60, 20, RGB(1, 2, 3));
        Paint(header, canvas, 60, 0, -1);
        EXPECT_EQ(clrShadow, canvas.Pixel(52, 6));  // left side of the tip
        EXPECT_EQ(clrDark, canvas.Pixel(53, 6));    // the tip's dark pixel
        EXPECT_EQ(clrHi, canvas.Pixel(49, 13));     // the base line
        EXPECT_EQ(RGB(1, 2, 3), canvas.Pixel(48, 6));
        header.ModifyStyle(CExtGridCell::__EGCS_SORT_DESCENDING, 0);
        DibCanvas down(60, 20, RGB(1, 2, 3));
        Paint(header, down, 60, 0, -1);
        EXPECT_EQ(clrShadow, down.Pixel(49, 6));  // the top line is in shadow now
        EXPECT_EQ(clrDark, down.Pixel(52, 13));
        // The same cell in the inner area gets no arrow.
        DibCanvas inner(60, 20, RGB(1, 2, 3));
        Paint(header, inner, 60, 0, 0);
        EXPECT_EQ(RGB(1, 2, 3), inner.Pixel(49, 6));

        // An ellipsis button, shown always by the default behaviour: raised, pressed, disabled.
        struct
        {
            const char* name;
            DWORD dwStyle;
            COLORREF clrTopLeft, clrDot;
            int dx;  // the glyph moves by one pixel when pressed
        } cases[] = {
            {"raised", 0x8000000, ::GetSysColor(COLOR_3DHIGHLIGHT), ::GetSysColor(COLOR_BTNTEXT), 0},
            {"pressed", 0x18000000, ::GetSysColor(COLOR_BTNSHADOW), ::GetSysColor(COLOR_BTNTEXT), 1},
            {"disabled", 0x28000000, ::GetSysColor(COLOR_3DHIGHLIGHT), ::GetSysColor(COLOR_BTNSHADOW), 0},
        };
        for (const auto& c : cases) {
            CExtGridCell cell;
            cell.ModifyStyle(c.dwStyle, 0);
            DibCanvas b(100, 20, RGB(1, 2, 3));
            Paint(cell, b, 100, 0, 0);
            const int x0 = 100 - w + (w - 8) / 2 + c.dx, y0 = 9 + c.dx;
            EXPECT_EQ(c.clrTopLeft, b.Pixel(100 - w, 0)) << c.name;
            EXPECT_EQ(::GetSysColor(COLOR_BTNFACE), b.Pixel(100 - w + 2, 2)) << c.name;
            EXPECT_EQ(c.clrDot, b.Pixel(x0, y0)) << c.name;
            EXPECT_EQ(::GetSysColor(COLOR_BTNFACE), b.Pixel(x0 + 2, y0 - 1)) << c.name;
            EXPECT_EQ(RGB(1, 2, 3), b.Pixel(100 - w - 1, 10)) << c.name;
        }
    }
}

TEST_F(GridCellInGridTest, FocusArrowAndHeaderNumberFollowTheFocus)
{
    CExtGridCell header;
    header.ModifyStyle(CExtGridCell::__EGCS_HDR_FOCUS_ARROW_RESERVE_SPACE, 0);
    struct
    {
        LONG nFocusRow;
        COLORREF clrAtTip;
    } cases[] = {{0, RGB(10, 20, 30)}, {1, RGB(1, 2, 3)}};
    for (const auto& c : cases) {
        m_grid.FocusSet(CPoint(0, c.nFocusRow), false, false, false, false);
        DibCanvas canvas(60, 20, RGB(1, 2, 3));
        ::SetTextColor(canvas.Dc(), RGB(10, 20, 30));
        Paint(header, canvas, 60, -1, 0);  // row 0 of the left band
        // The right-pointing arrow, 4 x 7, centred in the 12-pixel part at the right end.
        EXPECT_EQ(c.clrAtTip, canvas.Pixel(55, 9)) << "focus row " << c.nFocusRow;
        EXPECT_EQ(c.clrAtTip, canvas.Pixel(52, 6)) << "focus row " << c.nFocusRow;
        EXPECT_EQ(RGB(1, 2, 3), canvas.Pixel(55, 6)) << "focus row " << c.nFocusRow;
    }
    CString s;
    DibCanvas scratch(2, 2);
    CDC* pDC = CDC::FromHandle(scratch.Dc());
    const CRect rc(0, 0, 10, 10);
    header.OnFormatHeaderNumber(s, m_grid, *pDC, 0, 0, 4, 6, -1, 0, rc, rc, rc, 0x104, 0);
    EXPECT_STREQ("7", s);
    header.OnFormatHeaderNumber(s, m_grid, *pDC, 0, 0, 4, 6, 0, -1, rc, rc, rc, 0x101, 0);
    EXPECT_STREQ("5", s);
}

TEST_F(GridCellInGridTest, ClicksAndKeysToggleTheCheckBox)
{
    CExtGridCell* pCell = Cell(CExtGridCell::__EGCS_CHK_CHECK);
    CExtGridHitTestInfo hti;
    hti.m_nColNo = hti.m_nRowNo = 0;
    hti.m_dwAreaFlags = 0x200;
    m_grid.GetCellRects(0, 0, 0, 0, &hti.m_rcExtra, &hti.m_rcItem);
    hti.m_ptClient = CPoint(hti.m_rcItem.left + 6, hti.m_rcItem.top + 10);
    pCell->OnHitTest(m_grid, hti, false);
    ASSERT_EQ(0x400u, hti.m_dwAreaFlags & 0x1FC00) << "the check part lies 2 pixels inside the left side";
    struct
    {
        const char* name;
        DWORD dwAddStyle;
        int nButton, nEvent;
        bool bHandled;
        DWORD dwChecked;  // check bits after the click
    } clicks[] = {
        {"left press checks", 0, 1, 1, true, 0x90000},
        {"double click unchecks", 0, 1, 2, true, 0x10000},
        {"right press is not the cell's", 0, 2, 1, false, 0x10000},
        {"release is not the cell's", 0, 1, 3, false, 0x10000},
        {"read-only ignores the click", CExtGridCell::__EGCS_READ_ONLY, 1, 1, false, 0x10000},
    };
    for (const auto& c : clicks) {
        pCell->ModifyStyle(c.dwAddStyle, 0);
        const int nBefore = m_grid.m_nValueChanged;
        EXPECT_EQ(c.bHandled, pCell->OnClick(m_grid, hti, c.nButton, c.nEvent, 0)) << c.name;
        EXPECT_EQ(c.dwChecked, pCell->GetStyle() & 0xB0000) << c.name;
        EXPECT_EQ(nBefore + (c.bHandled ? 1 : 0), m_grid.m_nValueChanged) << c.name;
    }
    pCell->ModifyStyle(0, CExtGridCell::__EGCS_READ_ONLY);
    struct
    {
        const char* name;
        DWORD dwAddStyle;
        bool bDown;
        UINT nChar;
        bool bHandled;
        DWORD dwChecked;
    } keys[] = {
        {"space up toggles", 0, false, VK_SPACE, true, 0x90000},
        {"space down does nothing", 0, true, VK_SPACE, false, 0x90000},
        {"enter with an editor does nothing", 0, false, VK_RETURN, false, 0x90000},
        {"enter without an editor toggles", CExtGridCell::__EGCS_NO_INPLACE_CONTROL, false, VK_RETURN, true,
         0x10000},
    };
    for (const auto& k : keys) {
        pCell->ModifyStyle(k.dwAddStyle, 0);
        EXPECT_EQ(k.bHandled, pCell->OnKey(m_grid, k.bDown, k.nChar, 1, 0)) << k.name;
        EXPECT_EQ(k.dwChecked, pCell->GetStyle() & 0xB0000) << k.name;
    }
    // The mixed state is for check boxes only; a radio button ignores it.
    const int nChecks = m_grid.m_nCheckChanged;
    pCell->OnChangeCheck(2, m_grid, 0, 0, 0, 0, hti.m_rcItem);
    EXPECT_EQ(0xB0000u, pCell->GetStyle() & 0xB0000);
    pCell->ModifyStyle(CExtGridCell::__EGCS_CHK_RADIO, CExtGridCell::__EGCS_CHK_MASK | CExtGridCell::__EGCS_CHECKED);
    pCell->OnChangeCheck(2, m_grid, 0, 0, 0, 0, hti.m_rcItem);
    EXPECT_EQ(0x20000u, pCell->GetStyle() & 0xB0000);
    EXPECT_EQ(nChecks + 1, m_grid.m_nCheckChanged);
    // The editor's key filter keeps Alt alone (a system key when pressed by itself) from
    // the editor and lets every other key through.
    const struct
    {
        UINT message;
        WPARAM key;
        bool bTaken;
    } msgs[] = {{WM_SYSKEYDOWN, VK_MENU, true}, {WM_KEYUP, VK_MENU, true}, {WM_KEYDOWN, 'A', false},
                {WM_CHAR, VK_MENU, false}};
    for (const auto& m : msgs) {
        MSG msg = {m_grid.m_hWnd, m.message, m.key, 0, 0, {0, 0}};
        EXPECT_EQ(m.bTaken, pCell->OnInplaceControlKey(&msg, NULL, m_grid, hti, hti.m_rcExtra, hti.m_rcItem))
            << m.message << " " << m.key;
    }
}

TEST_F(GridCellInGridTest, ButtonsShowByTheGridsBehaviour)
{
    CExtGridCell* pCell = Cell(CExtGridCell::__EGCS_BUTTON_DROPDOWN);
    const int w = ::GetSystemMetrics(SM_CXVSCROLL);
    const CRect rc(0, 0, 80, 20);
    DibCanvas scratch(2, 2);
    CDC* pDC = CDC::FromHandle(scratch.Dc());
    struct
    {
        const char* name;
        DWORD dwBehavior;
        LONG nCol, nRow;
        DWORD dwPaintFlags;
        int nWidth;
    } cases[] = {
        {"always", 0x80, 1, 1, 0, w},
        {"none of the show bits", 0, 0, 0, 0, 0},
        {"focused cell, on it", 0x100, 0, 0, 0, w},
        {"focused cell, elsewhere", 0x100, 1, 0, 0, 0},
        {"focused row", 0x200, 1, 0, 0, w},
        {"hovered cell", 0x800, 1, 1, 3, w},
        {"hovered cell, only its column hovered", 0x800, 1, 1, 1, 0},
    };
    for (const auto& c : cases) {
        m_grid.ModifyBehaviorStyle(c.dwBehavior, 0xFFFFFFFF, false);
        EXPECT_EQ(c.nWidth, pCell->GetButtonWidth(CExtGridCell::__EBTT_DROPDOWN, m_grid, *pDC, 0, 0, c.nCol, c.nRow, 0,
                                                  0, rc, rc, rc, 0x200, c.dwPaintFlags))
            << c.name;
        EXPECT_EQ(0, pCell->GetButtonWidth(CExtGridCell::__EBTT_ELLIPSIS, m_grid, *pDC, 0, 0, c.nCol, c.nRow, 0, 0,
                                           rc, rc, rc, 0x200, c.dwPaintFlags))
            << c.name << ": the cell has no ellipsis";
    }
}

namespace {

void CALLBACK CancelMenuSoon(HWND, UINT, UINT_PTR nId, DWORD)
{
    ::KillTimer(NULL, nId);
    CExtPopupMenuWnd::CancelMenuTracking();
}

// A list cell: fills the list, picks an item itself when asked, and lets a timer close
// the popup the way a click elsewhere would.
class ListCell : public CExtGridCell
{
public:
    CString m_sText;
    int m_nPick = -1;
    int m_nClosed = 0;
    void TextGet(CString& s) const override { s = m_sText; }
    void TextSet(LPCTSTR s, bool) override { m_sText = s; }
    bool OnPopupListBoxInitContent(CExtPopupInplaceListBox& lb, POPUP_LIST_INFO& pli) override
    {
        lb.AddString("alpha");
        lb.AddString("beta");
        if (m_nPick >= 0) {
            lb.SetCurSel(m_nPick);
            OnPopupListBoxSelEndOK(lb, pli);
        }
        ::SetTimer(NULL, 0, 20, CancelMenuSoon);
        return CExtGridCell::OnPopupListBoxInitContent(lb, pli);
    }
    bool OnPopupListBoxClosed(POPUP_LIST_INFO&) override { return ++m_nClosed > 0; }
};

}  // namespace

TEST_F(GridCellInGridTest, DropDownListStoresThePickAndForgetsTheCellAfterwards)
{
    struct
    {
        const char* name;
        int nPick;
        bool bResult;
        const char* text;
        int nClosed, nChanged;
    } cases[] = {
        {"a pick becomes the text", 1, true, "beta", 1, 1},
        {"closed without a pick", -1, false, "old", 0, 0},
    };
    for (const auto& c : cases) {
        ListCell cell;
        cell.ModifyStyle(CExtGridCell::__EGCS_BUTTON_DROPDOWN, 0);
        cell.m_sText = "old";
        cell.m_nPick = c.nPick;
        const int nChanged = m_grid.m_nValueChanged;
        CExtGridCell::POPUP_LIST_INFO pli(&cell, &m_grid, CRect(0, 0, 80, 20), CRect(0, 0, 80, 20), 0, 0, 0, 0, 0, 0);
        EXPECT_EQ(c.bResult, cell.OnButtonPopupMenuTrack(pli)) << c.name;
        EXPECT_STREQ(c.text, cell.m_sText) << c.name;
        EXPECT_EQ(c.nClosed, cell.m_nClosed) << c.name;
        EXPECT_EQ(nChanged + c.nChanged, m_grid.m_nValueChanged) << c.name;
        EXPECT_TRUE(CExtGridCell::g_pCellMenuTracking == NULL) << c.name;
    }
    // Alt+Up on a drop-down cell is taken without opening anything.
    ListCell cell;
    cell.ModifyStyle(CExtGridCell::__EGCS_BUTTON_DROPDOWN, 0);
    EXPECT_TRUE(cell.OnSysKey(m_grid, true, VK_UP, 1, KF_ALTDOWN));
    EXPECT_FALSE(cell.OnSysKey(m_grid, true, VK_LEFT, 1, KF_ALTDOWN));
    EXPECT_FALSE(cell.OnSysKey(m_grid, false, VK_DOWN, 1, KF_ALTDOWN));
}
