// The report list: painting of rows (colours per row and cell, bold text, icons,
// alternating colours, dotted grid lines, selection), the header click's sort state and
// text sort, row heights, tooltips of cut-off cells and the saved column layout.
#include "app_test_app.h"
#include "app/report_ctrl.h"
#include "support/dib_canvas.h"
#include "support/message_pump.h"
#include "support/registry_sandbox.h"
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

using testsupport::DibCanvas;

namespace {

const UINT kListId = 100;

// The list's parent: a framework window, so that owner-draw requests are reflected to
// the list, and a record of the notifications it receives.
class CListParent : public CWnd
{
public:
    struct Notify
    {
        HWND hwndFrom;
        UINT_PTR idFrom;
        UINT code;
    };
    std::vector<Notify> m_notifies;
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override
    {
        NMHDR* pNMHDR = (NMHDR*)lParam;
        m_notifies.push_back({pNMHDR->hwndFrom, pNMHDR->idFrom, pNMHDR->code});
        return CWnd::OnNotify(wParam, lParam, pResult);
    }
};

class ReportCtrlTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_parent.CreateEx(0, AfxRegisterWndClass(0, NULL, (HBRUSH)(COLOR_BTNFACE + 1)), "parent",
                                      WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 420, 300, NULL, NULL));
        Create(LVS_REPORT);
    }
    void TearDown() override
    {
        m_list.reset();
        m_parent.DestroyWindow();
    }
    void Create(DWORD dwStyle)
    {
        m_list.reset();
        HWND hList = ::CreateWindowExA(WS_EX_CLIENTEDGE, WC_LISTVIEWA, "", WS_CHILD | WS_VISIBLE | dwStyle, 0, 0, 400,
                                       280, m_parent.GetSafeHwnd(), (HMENU)(UINT_PTR)kListId,
                                       ::GetModuleHandleA(NULL), NULL);
        ASSERT_NE(nullptr, hList);
        m_list.reset(new CExtReportCtrl);
        ASSERT_TRUE(m_list->SubclassWindow(hList));
        m_list->InsertColumn(0, "Application", LVCFMT_LEFT, 120);
        m_list->InsertColumn(1, "Publisher", LVCFMT_LEFT, 80);
        m_list->InsertColumn(2, "Size", LVCFMT_RIGHT, 60);
    }
    int AddRow(const char* a, const char* b, const char* c)
    {
        int nRow = m_list->InsertItem(m_list->GetItemCount(), a);
        m_list->SetItemText(nRow, 1, b);
        m_list->SetItemText(nRow, 2, c);
        return nRow;
    }
    std::unique_ptr<DibCanvas> Print()
    {
        CRect rc;
        m_list->GetClientRect(&rc);
        std::unique_ptr<DibCanvas> canvas(new DibCanvas(rc.Width(), rc.Height(), RGB(1, 2, 3)));
        m_list->SendMessage(WM_PRINTCLIENT, (WPARAM)canvas->Dc(), PRF_CLIENT);
        return canvas;
    }
    CRect RowRect(int nRow)
    {
        CRect rc;
        m_list->GetItemRect(nRow, &rc, LVIR_BOUNDS);
        return rc;
    }
    CRect CellRect(int nRow, int nColumn)
    {
        CRect rc;
        m_list->GetSubItemRect(nRow, nColumn, LVIR_LABEL, rc);
        return rc;
    }
    int CountInRow(const DibCanvas& canvas, int nRow, COLORREF clr, int left = 0, int right = -1)
    {
        CRect rc = RowRect(nRow);
        RECT area = {left, rc.top, right < 0 ? canvas.Width() : right, rc.bottom - 1};
        return canvas.Count(clr, area);
    }
    void FocusList()
    {
        ::SetForegroundWindow(m_parent.GetSafeHwnd());
        ::SetActiveWindow(m_parent.GetSafeHwnd());
        ::SetFocus(m_list->GetSafeHwnd());
        testsupport::PumpPending();
    }

    CListParent m_parent;
    std::unique_ptr<CExtReportCtrl> m_list;
};

HICON MakeSolidIcon(COLORREF clr)
{
    int cx = ::GetSystemMetrics(SM_CXSMICON), cy = ::GetSystemMetrics(SM_CYSMICON);
    HDC hScreen = ::GetDC(NULL);
    HBITMAP hColor = ::CreateCompatibleBitmap(hScreen, cx, cy);
    HDC hMem = ::CreateCompatibleDC(hScreen);
    HGDIOBJ hOld = ::SelectObject(hMem, hColor);
    HBRUSH hBrush = ::CreateSolidBrush(clr);
    RECT rc = {0, 0, cx, cy};
    ::FillRect(hMem, &rc, hBrush);
    ::DeleteObject(hBrush);
    ::SelectObject(hMem, hOld);
    ::DeleteDC(hMem);
    ::ReleaseDC(NULL, hScreen);
    HBITMAP hMask = ::CreateBitmap(cx, cy, 1, 1, NULL);
    HDC hMaskDC = ::CreateCompatibleDC(NULL);
    hOld = ::SelectObject(hMaskDC, hMask);
    ::PatBlt(hMaskDC, 0, 0, cx, cy, BLACKNESS);
    ::SelectObject(hMaskDC, hOld);
    ::DeleteDC(hMaskDC);
    ICONINFO info = {TRUE, 0, 0, hMask, hColor};
    HICON hIcon = ::CreateIconIndirect(&info);
    ::DeleteObject(hMask);
    ::DeleteObject(hColor);
    return hIcon;
}

}  // namespace

TEST_F(ReportCtrlTest, SubclassingAppliesTheReportStyles)
{
    DWORD dwStyle = m_list->GetStyle();
    EXPECT_EQ((DWORD)(LVS_REPORT | LVS_OWNERDRAWFIXED), dwStyle & (LVS_TYPEMASK | LVS_OWNERDRAWFIXED));
    EXPECT_NE(0u, dwStyle & WS_BORDER);
    EXPECT_EQ(0u, m_list->GetExStyle() & (WS_EX_CLIENTEDGE | WS_EX_STATICEDGE));
    DWORD dwExtended = m_list->GetExtendedStyle();
    EXPECT_EQ((DWORD)(LVS_EX_HEADERDRAGDROP | LVS_EX_FULLROWSELECT),
              dwExtended & (LVS_EX_HEADERDRAGDROP | LVS_EX_FULLROWSELECT));
    EXPECT_NE(0u, m_list->m_nFlags & WF_TOOLTIPS);
}

TEST_F(ReportCtrlTest, RowsGetTheirRecordWhenInsertedAndTheRowHeightIsAsked)
{
    int nRow = AddRow("a", "b", "c");
    EXPECT_NE(0u, m_list->GetItemData(nRow));
    // The list asks for the row height when its size changes.
    m_list->SetWindowPos(NULL, 0, 0, 390, 270, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(18, RowRect(nRow).Height());
    m_list->SetRowHeight(27);
    EXPECT_EQ(27, RowRect(nRow).Height());
    ReportRowData* pRow = m_list->GetRowData(nRow);
    EXPECT_EQ((DWORD_PTR)pRow, m_list->GetItemData(nRow));
    ReportCellFormat& format = m_list->GetCellFormat(pRow, 4);
    EXPECT_EQ(5, pRow->cells.GetSize());
    EXPECT_FALSE(format.bBold);
    EXPECT_FALSE(format.bTextSet);
    EXPECT_EQ(0xFFFFFFu, format.clrBack);
}

TEST_F(ReportCtrlTest, AlternatingRowsAndDottedGridLines)
{
    for (int i = 0; i < 4; ++i) AddRow("x", "y", "1");
    const COLORREF grid1 = RGB(250, 240, 200), grid2 = RGB(200, 230, 250);
    m_list->m_clrGrid1 = grid1;
    m_list->m_clrGrid2 = grid2;
    m_list->m_bAlternateRows = true;
    auto canvas = Print();
    const COLORREF line = ::GetSysColor(COLOR_BTNFACE);
    int xPast = canvas->Width() - 7;  // right of the last column: no text, no vertical line

    for (int nRow = 0; nRow < 4; ++nRow) {
        SCOPED_TRACE(testing::Message() << "row " << nRow);
        CRect rc = RowRect(nRow);
        EXPECT_EQ(nRow % 2 == 0 ? grid1 : grid2, canvas->Pixel(xPast, rc.top + 2));
        // The horizontal line: every second pixel from an even x, across the whole width.
        EXPECT_EQ(line, canvas->Pixel(xPast - 1, rc.bottom - 1));
        EXPECT_EQ(nRow % 2 == 0 ? grid1 : grid2, canvas->Pixel(xPast, rc.bottom - 1));
        EXPECT_EQ(line, canvas->Pixel(0, rc.bottom - 1));
        // A vertical line at each cell's right edge, from the cell's top.
        CRect cell = CellRect(nRow, 1);
        int x = cell.right - 1;
        int yEven = (rc.top + 3) & ~1;
        EXPECT_EQ(line, canvas->Pixel(x, yEven));
        EXPECT_EQ(nRow % 2 == 0 ? grid1 : grid2, canvas->Pixel(x, yEven + 1));
    }
    // Alternation off: the list's own background.
    m_list->m_bAlternateRows = false;
    canvas = Print();
    EXPECT_EQ(m_list->GetBkColor(), canvas->Pixel(xPast, RowRect(1).top + 2));
}

TEST_F(ReportCtrlTest, CellZeroFormatsTheWholeRowUnlessSelected)
{
    const COLORREF text = RGB(0, 0, 128);
    m_list->SetTextColor(text);
    AddRow("Plain", "Plain", "1");
    AddRow("Coloured", "Coloured", "2");
    AddRow("Normal text", "", "");
    AddRow("Normal text", "", "");
    const COLORREF red = RGB(192, 0, 0), back = RGB(230, 250, 230);
    ReportCellFormat& f1 = m_list->GetCellFormat(m_list->GetRowData(1), 0);
    f1.clrText = red;
    f1.bTextSet = true;
    f1.clrBack = back;
    f1.bBackSet = true;
    m_list->GetCellFormat(m_list->GetRowData(3), 0).bBold = true;
    // Formats of other cells than cell 0 are not read for the row.
    ReportCellFormat& other = m_list->GetCellFormat(m_list->GetRowData(0), 1);
    other.clrText = red;
    other.bTextSet = true;

    auto canvas = Print();
    int xPast = canvas->Width() - 7;
    EXPECT_EQ(back, canvas->Pixel(xPast, RowRect(1).top + 2));
    EXPECT_GT(CountInRow(*canvas, 1, red, 0, CellRect(1, 0).right), 0);
    EXPECT_GT(CountInRow(*canvas, 1, red, CellRect(1, 1).left, CellRect(1, 1).right), 0);
    EXPECT_EQ(0, CountInRow(*canvas, 0, red));
    // Bold: the same text in more pixels.
    int normal = CountInRow(*canvas, 2, text, 0, CellRect(2, 0).right);
    int bold = CountInRow(*canvas, 3, text, 0, CellRect(3, 0).right);
    EXPECT_GT(normal, 0);
    EXPECT_GT(bold, normal);

    // Selected, the row ignores its overrides.
    m_list->SetItemState(1, LVIS_SELECTED, LVIS_SELECTED);
    canvas = Print();
    EXPECT_EQ(0, CountInRow(*canvas, 1, red));
    EXPECT_NE(back, canvas->Pixel(xPast, RowRect(1).top + 2));
}

TEST_F(ReportCtrlTest, SelectionColoursFollowFocusAndShowSelAlways)
{
    for (int i = 0; i < 3; ++i) AddRow("row", "row", "1");
    m_list->SetItemState(1, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    ::SetFocus(NULL);
    testsupport::PumpPending();
    auto canvas = Print();
    int xPast = canvas->Width() - 7;
    CRect rc = RowRect(1);
    // Without focus: the inactive look, with no grid lines.
    EXPECT_EQ(::GetSysColor(COLOR_INACTIVEBORDER), canvas->Pixel(xPast, rc.top + 2));
    EXPECT_EQ(::GetSysColor(COLOR_INACTIVEBORDER), canvas->Pixel(xPast - 1, rc.bottom - 1));
    EXPECT_EQ(::GetSysColor(COLOR_INACTIVEBORDER), canvas->Pixel(CellRect(1, 1).right - 1, (rc.top + 3) & ~1));

    FocusList();
    ASSERT_EQ(m_list->GetSafeHwnd(), ::GetFocus());
    canvas = Print();
    EXPECT_EQ(::GetSysColor(COLOR_HIGHLIGHT), canvas->Pixel(xPast, rc.top + 2));
    EXPECT_EQ(::GetSysColor(COLOR_HIGHLIGHT), canvas->Pixel(xPast - 1, rc.bottom - 1));
    EXPECT_GT(CountInRow(*canvas, 1, ::GetSysColor(COLOR_HIGHLIGHTTEXT), 0, CellRect(1, 0).right), 0);

    // A selected row that is not the focus row, while the list has the focus.
    m_list->SetItemState(2, LVIS_SELECTED, LVIS_SELECTED);
    m_list->SetItemState(2, 0, LVIS_FOCUSED);
    canvas = Print();
    EXPECT_EQ(::GetSysColor(COLOR_INACTIVEBORDER), canvas->Pixel(xPast, RowRect(2).top + 2));

    // LVS_SHOWSELALWAYS: highlighted without the focus.
    ::SetFocus(NULL);
    m_list->ModifyStyle(0, LVS_SHOWSELALWAYS);
    canvas = Print();
    EXPECT_EQ(::GetSysColor(COLOR_HIGHLIGHT), canvas->Pixel(xPast, RowRect(1).top + 2));
    EXPECT_EQ(::GetSysColor(COLOR_HIGHLIGHT), canvas->Pixel(xPast, RowRect(2).top + 2));
}

TEST_F(ReportCtrlTest, ACellIconIsDrawnBeforeItsText)
{
    AddRow("Iconic", "b", "c");
    HICON hIcon = MakeSolidIcon(RGB(0, 200, 0));
    m_list->GetCellFormat(m_list->GetRowData(0), 1).hIcon = hIcon;
    auto canvas = Print();
    CRect cell = CellRect(0, 1);
    int cx = ::GetSystemMetrics(SM_CXSMICON);
    EXPECT_EQ(RGB(0, 200, 0), canvas->Pixel(cell.left + 1, cell.CenterPoint().y));
    EXPECT_EQ(RGB(0, 200, 0), canvas->Pixel(cell.left + cx, cell.CenterPoint().y));
    EXPECT_NE(RGB(0, 200, 0), canvas->Pixel(cell.left + cx + 1, cell.CenterPoint().y));
    // The icon is borrowed: still alive after painting.
    ICONINFO info = {};
    ASSERT_TRUE(::GetIconInfo(hIcon, &info));
    ::DeleteObject(info.hbmColor);
    ::DeleteObject(info.hbmMask);
    ::DestroyIcon(hIcon);
}

namespace {

NMHEADERA HeaderNotify(CExtReportCtrl& list, UINT code, int nItem, int nButton)
{
    NMHEADERA nm = {};
    nm.hdr.hwndFrom = list.GetHeaderCtrl()->GetSafeHwnd();
    nm.hdr.idFrom = ::GetDlgCtrlID(nm.hdr.hwndFrom);
    nm.hdr.code = code;
    nm.iItem = nItem;
    nm.iButton = nButton;
    return nm;
}

std::vector<std::string> Column(CExtReportCtrl& list, int nColumn)
{
    std::vector<std::string> texts;
    for (int i = 0; i < list.GetItemCount(); ++i) texts.push_back((LPCTSTR)list.GetItemText(i, nColumn));
    return texts;
}

}  // namespace

TEST_F(ReportCtrlTest, HeaderClicksKeepTheSortStateAndReachTheOwnerAsTheLists)
{
    struct Step
    {
        int column;
        int button;
        int sortColumn;
        bool ascending;
    } steps[] = {
        {0, 0, 0, false},  // the same column as the start: the direction flips
        {0, 0, 0, true},
        {2, 0, 2, true},   // another column: ascending
        {2, 0, 2, false},
        {1, 1, 2, false},  // the right button changes nothing
        {1, 0, 1, true},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(testing::Message() << "click on " << s.column << " button " << s.button);
        m_parent.m_notifies.clear();
        NMHEADERA nm = HeaderNotify(*m_list, HDN_ITEMCLICKA, s.column, s.button);
        m_list->SendMessage(WM_NOTIFY, nm.hdr.idFrom, (LPARAM)&nm);
        EXPECT_EQ(s.sortColumn, m_list->m_nSortColumn);
        EXPECT_EQ(s.ascending, m_list->m_bSortAscending);
        bool seen = false;
        for (auto& n : m_parent.m_notifies)
            if (n.code == (UINT)HDN_ITEMCLICKA && n.hwndFrom == m_list->GetSafeHwnd() && n.idFrom == kListId) seen = true;
        EXPECT_TRUE(seen);
    }
}

TEST_F(ReportCtrlTest, TheTextSortOrdersRowsAndTakesTheirRecordsAlong)
{
    const char* names[] = {"delta", "Alpha", "charlie", "bravo", "alpha"};
    for (int i = 0; i < 5; ++i) {
        int nRow = AddRow(names[i], std::to_string(i).c_str(), "");
        m_list->GetRowData(nRow)->pUserData = (void*)names[i];
    }
    EXPECT_TRUE(m_list->SortByColumnText(0, true, 0, -1));
    std::vector<std::string> expected = {"Alpha", "alpha", "bravo", "charlie", "delta"};
    EXPECT_EQ(expected, Column(*m_list, 0));
    for (int i = 0; i < 5; ++i) {
        SCOPED_TRACE(i);
        EXPECT_STREQ(m_list->GetItemText(i, 0), (const char*)m_list->GetRowData(i)->pUserData);
    }
    EXPECT_TRUE(m_list->SortByColumnText(0, false, 0, -1));
    std::vector<std::string> descending(expected.rbegin(), expected.rend());
    EXPECT_EQ(descending, Column(*m_list, 0));
    EXPECT_FALSE(m_list->SortByColumnText(3, true, 0, -1));

    // Through the header, when the list sorts on clicks.
    m_list->m_bSortOnHeaderClick = true;
    m_list->m_nSortColumn = 0;
    m_list->m_bSortAscending = false;
    NMHEADERA nm = HeaderNotify(*m_list, HDN_ITEMCLICKA, 0, 0);
    m_list->SendMessage(WM_NOTIFY, nm.hdr.idFrom, (LPARAM)&nm);
    EXPECT_EQ(expected, Column(*m_list, 0));
}

TEST_F(ReportCtrlTest, EqualTextsAreNeverSwapped)
{
    for (int i = 0; i < 6; ++i) {
        int nRow = AddRow("same", std::to_string(i).c_str(), "");
        m_list->GetRowData(nRow)->pUserData = (void*)(INT_PTR)(i + 1);
    }
    EXPECT_TRUE(m_list->SortByColumnText(0, true, 0, -1));
    EXPECT_TRUE(m_list->SortByColumnText(0, false, 0, -1));
    for (int i = 0; i < 6; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(std::to_string(i), (LPCTSTR)m_list->GetItemText(i, 1));
        EXPECT_EQ((void*)(INT_PTR)(i + 1), m_list->GetRowData(i)->pUserData);
    }
}

TEST_F(ReportCtrlTest, AHeaderItemWithAnLParamCannotBeResized)
{
    HDITEMA item = {};
    item.mask = HDI_LPARAM;
    item.lParam = 1;
    ::SendMessageA(m_list->GetHeaderCtrl()->GetSafeHwnd(), HDM_SETITEMA, 1, (LPARAM)&item);
    for (int nColumn = 0; nColumn < 3; ++nColumn) {
        SCOPED_TRACE(nColumn);
        NMHEADERA nm = HeaderNotify(*m_list, HDN_BEGINTRACKA, nColumn, 0);
        LRESULT result = m_list->SendMessage(WM_NOTIFY, nm.hdr.idFrom, (LPARAM)&nm);
        EXPECT_EQ(nColumn == 1 ? 1 : 0, result);
    }
}

TEST_F(ReportCtrlTest, HitTestFindsTheRowAndColumn)
{
    AddRow("a", "b", "c");
    AddRow("d", "e", "f");
    CRect row = RowRect(1);
    int nRow = -1, nColumn = -1;
    RECT cell = {};
    ASSERT_TRUE(m_list->HitTestCell(CPoint(130, row.top + 2), &nRow, &nColumn, &cell));
    EXPECT_EQ(1, nRow);
    EXPECT_EQ(1, nColumn);
    EXPECT_EQ(row.left + 120, cell.left);
    EXPECT_EQ(row.left + 200, cell.right);
    EXPECT_EQ(row.top, cell.top);
    EXPECT_EQ(row.bottom, cell.bottom);
    EXPECT_FALSE(m_list->HitTestCell(CPoint(10, RowRect(1).bottom + 40), &nRow, &nColumn, NULL));
    EXPECT_FALSE(m_list->HitTestCell(CPoint(row.right + 5, row.top + 2), &nRow, &nColumn, NULL));
}

TEST_F(ReportCtrlTest, OnlyCutOffCellsHaveATooltipWithTheirWholeText)
{
    std::string longText(120, 'W');
    longText += "END";
    AddRow("short", longText.c_str(), "1");
    CRect fits = CellRect(0, 0), cut = CellRect(0, 1);
    TOOLINFOA ti = {};
    ti.cbSize = sizeof(ti);
    EXPECT_EQ(-1, m_list->OnToolHitTest(CPoint(fits.left + 5, fits.CenterPoint().y), &ti));
    INT_PTR nId = m_list->OnToolHitTest(CPoint(cut.left + 5, cut.CenterPoint().y), &ti);
    ASSERT_EQ((INT_PTR)((0 << 10) + 1 + 1), nId);
    EXPECT_EQ(m_list->GetSafeHwnd(), ti.hwnd);
    EXPECT_EQ(LPSTR_TEXTCALLBACK, ti.lpszText);
    EXPECT_EQ(cut, CRect(ti.rect));

    // The thread's tooltip control sends the request; any window stands in for it.
    HWND hTip = m_parent.GetSafeHwnd();
    NMTTDISPINFOA infoA = {};
    infoA.hdr.hwndFrom = hTip;
    infoA.hdr.idFrom = (UINT_PTR)nId;
    infoA.hdr.code = TTN_NEEDTEXTA;
    m_list->SendMessage(WM_NOTIFY, 0, (LPARAM)&infoA);
    EXPECT_EQ(longText.substr(0, 79), std::string(infoA.szText));

    NMTTDISPINFOW infoW = {};
    infoW.hdr.hwndFrom = hTip;
    infoW.hdr.idFrom = (UINT_PTR)nId;
    infoW.hdr.code = TTN_NEEDTEXTW;
    m_list->SendMessage(WM_NOTIFY, 0, (LPARAM)&infoW);
    EXPECT_EQ(std::wstring(79, L'W'), std::wstring(infoW.szText));

    // Id 0 is not a cell's.
    NMTTDISPINFOA none = {};
    none.hdr.hwndFrom = hTip;
    none.hdr.code = TTN_NEEDTEXTA;
    strcpy(none.szText, "kept");
    m_list->SendMessage(WM_NOTIFY, 0, (LPARAM)&none);
    EXPECT_STREQ("kept", none.szText);
}

TEST_F(ReportCtrlTest, TheColumnLayoutIsSavedWhenTheListGoes)
{
    testsupport::RegistrySandbox sandbox;
    HKEY hSoftware = NULL;
    ASSERT_EQ(ERROR_SUCCESS, ::RegCreateKeyExA(sandbox.Root(), "hkcu\\Software", 0, NULL, 0, KEY_ALL_ACCESS, NULL,
                                               &hSoftware, NULL));
    ::RegCloseKey(hSoftware);
    ASSERT_TRUE(sandbox.Override(HKEY_CURRENT_USER, "hkcu"));
    CWinApp& app = TestApp();
    LPCTSTR oldKey = app.m_pszRegistryKey, oldProfile = app.m_pszProfileName;
    app.m_pszRegistryKey = _strdup("Corvalin");
    app.m_pszProfileName = _strdup("Layout Test");

    m_list->m_strProfileSection = "List";
    m_list->m_strProfileWidths = "Widths";
    m_list->m_strProfileOrder = "Order";
    m_list->m_bSaveLayout = true;
    m_list->SetColumnWidth(1, 95);
    int order[3] = {2, 0, 1};
    m_list->SetColumnOrderArray(3, order);
    m_list->DestroyWindow();

    EXPECT_STREQ("120,95,60,", app.GetProfileString("List", "Widths"));
    EXPECT_STREQ("2,0,1,", app.GetProfileString("List", "Order"));

    free(const_cast<LPTSTR>(app.m_pszRegistryKey));
    free(const_cast<LPTSTR>(app.m_pszProfileName));
    app.m_pszRegistryKey = oldKey;
    app.m_pszProfileName = oldProfile;
}

TEST_F(ReportCtrlTest, SettingTheSelectionMarkSelectsAndFocusesTheRow)
{
    Create(LVS_REPORT | LVS_SINGLESEL);
    for (int i = 0; i < 3; ++i) AddRow("r", "r", "r");
    m_list->SetItemState(0, LVIS_SELECTED, LVIS_SELECTED);
    EXPECT_EQ(0, m_list->SetSelectionMark(2));
    EXPECT_EQ(0u, m_list->GetItemState(0, LVIS_SELECTED));
    EXPECT_EQ((UINT)(LVIS_SELECTED | LVIS_FOCUSED), m_list->GetItemState(2, LVIS_SELECTED | LVIS_FOCUSED));
    EXPECT_EQ(2, (int)::SendMessageA(m_list->GetSafeHwnd(), LVM_GETSELECTIONMARK, 0, 0));
}
