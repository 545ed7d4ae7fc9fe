#include "app/report_ctrl.h"
#include "app/click_message.h"
#include "app/input_rule.h"
#include "toolkit/dialogs/memory_dc.h"
#include "toolkit/core/bitmap.h"
#include <algorithm>
#include <mbstring.h>
#include <windowsx.h>
#include <string.h>
#include <vector>

IMPLEMENT_DYNAMIC(CExtReportCtrl, CListCtrl)

BEGIN_MESSAGE_MAP(CExtReportCtrl, CListCtrl)
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_SIZE()
    ON_WM_LBUTTONDOWN()
    ON_WM_RBUTTONDOWN()
    ON_NOTIFY_REFLECT_EX(NM_CLICK, &CExtReportCtrl::OnClickReflect)
    ON_NOTIFY_REFLECT_EX(LVN_KEYDOWN, &CExtReportCtrl::OnKeyDownReflect)
    ON_NOTIFY_REFLECT_EX(NM_KILLFOCUS, &CExtReportCtrl::OnKillFocusReflect)
    ON_NOTIFY_REFLECT_EX(LVN_INSERTITEM, &CExtReportCtrl::OnInsertItemReflect)
    ON_NOTIFY_REFLECT_EX(LVN_DELETEITEM, &CExtReportCtrl::OnDeleteItemReflect)
    ON_WM_MEASUREITEM_REFLECT()
    ON_NOTIFY_EX_RANGE(TTN_NEEDTEXTA, 0, 0xFFFF, &CExtReportCtrl::OnToolTipText)
    ON_NOTIFY_EX_RANGE(TTN_NEEDTEXTW, 0, 0xFFFF, &CExtReportCtrl::OnToolTipText)
END_MESSAGE_MAP()

CExtReportCtrl::CExtReportCtrl()
    : m_nRowHeight(18),
      m_clrGrid1(0xFFFFFF),
      m_clrGrid2(0xFFFFFF),
      m_bAlternateRows(false),
      m_clrGridLines(::GetSysColor(COLOR_BTNFACE)),
      m_bGridLines(true),
      m_bSaveLayout(false),
      m_nClientWidth(0),
      m_nSortColumn(0),
      m_bSortAscending(true),
      m_bSortOnHeaderClick(false)
{
    RegisterWithHolder();
}

CExtReportCtrl::~CExtReportCtrl() { UnregisterFromHolder(); }

void CExtReportCtrl::RegisterWithHolder() { g_CurrentPaintManager.RegisterBridge(this); }
void CExtReportCtrl::UnregisterFromHolder() { g_CurrentPaintManager.UnregisterBridge(this); }
HWND CExtReportCtrl::GetBridgeHwnd() { return GetSafeHwnd(); }
CExtPaintManager* CExtReportCtrl::GetPaintManager() { return g_CurrentPaintManager.GetPM(); }

void CExtReportCtrl::PreSubclassWindow()
{
    ApplyListStyles();
    CListCtrl::PreSubclassWindow();
}

void CExtReportCtrl::ApplyListStyles()
{
    SetExtendedStyle(GetExtendedStyle() | LVS_EX_HEADERDRAGDROP | LVS_EX_FULLROWSELECT);
    ModifyStyle(0, LVS_REPORT | LVS_OWNERDRAWFIXED | WS_BORDER);
    ModifyStyleEx(WS_EX_CLIENTEDGE | WS_EX_STATICEDGE, 0,
                  SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    EnableToolTips(TRUE);
}

// ---- rows and cells ------------------------------------------------------------------

ReportRowData* CExtReportCtrl::GetRowData(int nRow)
{
    ReportRowData* pRow = (ReportRowData*)GetItemData(nRow);
    if (pRow == NULL) {
        pRow = new ReportRowData;
        LVITEM item = {};
        item.mask = LVIF_PARAM;
        item.iItem = nRow;
        item.lParam = (LPARAM)pRow;
        if (!SetItem(&item)) {
            // No such row: nothing holds the record, so it must not be kept.
            delete pRow;
            static ReportRowData s_scratch;
            s_scratch.cells.RemoveAll();
            s_scratch.pUserData = NULL;
            return &s_scratch;
        }
    }
    return pRow;
}

ReportCellFormat& CExtReportCtrl::GetCellFormat(ReportRowData* pRow, int nColumn)
{
    if (nColumn < 0) nColumn = 0;
    while (pRow->cells.GetSize() <= nColumn) {
        ReportCellFormat format;
        pRow->cells.Add(format);
    }
    return pRow->cells[nColumn];
}

CString CExtReportCtrl::CellText(int nRow, int nColumn) const
{
    std::vector<char> buffer(256);
    for (;;) {
        LVITEMA item = {};
        item.iSubItem = nColumn;
        item.pszText = buffer.data();
        item.cchTextMax = (int)buffer.size();
        int nLen = (int)::SendMessageA(m_hWnd, LVM_GETITEMTEXTA, nRow, (LPARAM)&item);
        if (nLen < (int)buffer.size() - 1) return CString(buffer.data(), nLen);
        buffer.resize(buffer.size() * 2);
    }
}

void CExtReportCtrl::DeselectAll()
{
    // Each search for the next selected row walks the rows after it: the search ends at
    // the last selected row, not at the end of a long list (after a refill no row is
    // selected at all).
    int nRow = -1;
    for (UINT nLeft = GetSelectedCount(); nLeft > 0; --nLeft) {
        nRow = GetNextItem(nRow, LVNI_SELECTED);
        if (nRow < 0) break;
        SetItemState(nRow, 0, LVIS_SELECTED | LVIS_FOCUSED);
    }
}

// A single-selection list with no row selected shows by its focus where the keys
// start: the first Down picks that row rather than the one below it, and a key that
// would move the focus nowhere (Home or Up on the first row) picks the row it rests on.
LRESULT CExtReportCtrl::OnRowKey(WPARAM wParam, LPARAM lParam)
{
    const bool bMovesFocus = wParam == VK_DOWN || wParam == VK_UP || wParam == VK_HOME || wParam == VK_END ||
                             wParam == VK_PRIOR || wParam == VK_NEXT;
    const bool bPlain = ((::GetKeyState(VK_SHIFT) | ::GetKeyState(VK_CONTROL)) & 0x8000) == 0;
    if (!bMovesFocus || !bPlain || (GetStyle() & LVS_SINGLESEL) == 0 || GetNextItem(-1, LVNI_SELECTED) >= 0)
        return CListCtrl::WindowProc(WM_KEYDOWN, wParam, lParam);
    if (wParam == VK_DOWN && SelectFocusedRow()) return 0;
    LRESULT lResult = CListCtrl::WindowProc(WM_KEYDOWN, wParam, lParam);
    SelectFocusedRow();
    return lResult;
}

void* CExtReportCtrl::RowDataAt(CPoint point)
{
    int nRow = -1;
    if (!HitTestCell(point, &nRow, NULL, NULL) || nRow < 0) return NULL;
    const ReportRowData* pRow = (const ReportRowData*)GetItemData(nRow);
    return pRow != NULL ? pRow->pUserData : NULL;
}

LRESULT CExtReportCtrl::OnButtonInput(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (!m_fnTakesInput) return CListCtrl::WindowProc(message, wParam, lParam);
    const bool bLeft = message == WM_LBUTTONDOWN || message == WM_LBUTTONDBLCLK;
    const bool bRight = message == WM_RBUTTONDOWN || message == WM_RBUTTONDBLCLK;
    const CPoint point(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
    // The second half of a double-click goes where its first half went: aimed at the
    // same rows, it is refused with it.
    const bool bFirstRefused = message == WM_LBUTTONDBLCLK && !m_bClickTaken;
    if (bFirstRefused || !TakesClickAt(message, point, ::GetMessageTime())) {
        // Neither selects nor runs; the next press starts afresh.
        if (bLeft) m_bClickTaken = false;
        if (bRight) m_bRightRefused = true;
        CInputRule::InputDropped(message, wParam, ::GetMessageTime());
        return 0;
    }
    if (bRight) m_bRightRefused = false;
    bool bUnpaired = false;
    if (bLeft) {
        void* pData = RowDataAt(point);
        bUnpaired = message == WM_LBUTTONDBLCLK && (pData == NULL || pData != m_pClickData);
        m_bClickTaken = true;
        m_pClickData = pData;
        // A double-click's second half keeps the time of its first: the hand made the
        // double-click when it began it.
        if (message == WM_LBUTTONDOWN || bUnpaired) {
            m_dwPressTime = ::GetMessageTime();
            m_ullPressTaken = ::GetTickCount64();
        }
    }
    LRESULT lResult = 0;
    if (bUnpaired) {
        // The two halves fell on different programs: the second is a click of its own,
        // never a double-click on the row it found.
        Invalidate(FALSE);
        lResult = DefWindowProc(WM_LBUTTONDOWN, wParam, lParam);
    } else {
        lResult = CListCtrl::WindowProc(message, wParam, lParam);
    }
    // A click on a partly shown row scrolls it into view: what lies under the pointer
    // changed, and a second click there was aimed at the row that was there.
    NoteShownRows();
    return lResult;
}

bool CExtReportCtrl::TakesClickAt(UINT message, CPoint point, DWORD dwTime)
{
    if (m_fnTakesInput && !m_fnTakesInput(message, dwTime)) return false;
    // A change no message told of counts from now.
    NoteShownRows();
    const ULONGLONG ullClick = CInputRule::InputTime(dwTime, ::GetTickCount64());
    const int nPlace = ShownRowAt(point);
    if (nPlace >= 0 && nPlace < (int)m_shownRows.size() &&
        CInputRule::SoonAfter(ullClick, m_shownRows[nPlace].ullChanged))
        return false;
    CPoint ptScreen = point;
    ClientToScreen(&ptScreen);
    return !CInputRule::CoveredAt(ptScreen, ullClick);
}

bool CExtReportCtrl::RowsSettled(ULONGLONG ullNow) const
{
    const int nHeight = std::max(1, m_nRowHeight);
    for (size_t i = 0; i < m_shownRows.size(); ++i) {
        if (CInputRule::SoonAfter(ullNow, m_shownRows[i].ullChanged)) return false;
        CPoint pt(m_nClientWidth / 2, RowsTop() + (int)i * nHeight + nHeight / 2);
        ClientToScreen(&pt);
        if (CInputRule::CoveredAt(pt, ullNow)) return false;
    }
    return true;
}

void CExtReportCtrl::RowsUncovered() { NoteShownRows(true); }

namespace {

// A 32-bit top-down bitmap of a rectangle of a DC, its pixels readable in place.
class CPixelCopy
{
public:
    CPixelCopy(HDC hSource, int x, int y, int cx, int cy) : m_cx(cx)
    {
        void* pBits = NULL;
        m_hBitmap = CreateDib32(NULL, cx, cy, &pBits);
        HDC hMem = m_hBitmap != NULL ? ::CreateCompatibleDC(NULL) : NULL;
        if (hMem == NULL) return;
        HGDIOBJ hOld = ::SelectObject(hMem, m_hBitmap);
        if (::BitBlt(hMem, 0, 0, cx, cy, hSource, x, y, SRCCOPY)) m_pBits = (const DWORD*)pBits;
        ::SelectObject(hMem, hOld);
        ::DeleteDC(hMem);
    }
    ~CPixelCopy()
    {
        if (m_hBitmap != NULL) ::DeleteObject(m_hBitmap);
    }
    CPixelCopy(const CPixelCopy&) = delete;
    CPixelCopy& operator=(const CPixelCopy&) = delete;

    bool Read() const { return m_pBits != NULL; }
    // The colour at a point of the copy, without the byte no colour uses.
    DWORD At(int x, int y) const { return m_pBits[(size_t)y * m_cx + x] & 0x00FFFFFF; }

private:
    HBITMAP m_hBitmap = NULL;
    const DWORD* m_pBits = NULL;
    int m_cx;
};

}  // namespace

CExtReportCtrl::ScreenShows CExtReportCtrl::CompareRowsWithScreen() const
{
    if (m_hWnd == NULL || !IsWindowVisible()) return ScreenShows::Nothing;
    // The rows' area on the screen.
    CRect rcRows = RowsArea();
    CPoint ptOrigin(0, 0);
    ClientToScreen(&ptOrigin);
    rcRows.OffsetRect(ptOrigin);
    // Only where the list lies uncovered on the screen: elsewhere the screen shows
    // another window, or nothing. The system's region of the list's DC is in screen
    // coordinates; the screen's own rectangle bounds it, as a window may lie partly off it.
    const CRect rcScreen(CPoint(::GetSystemMetrics(SM_XVIRTUALSCREEN), ::GetSystemMetrics(SM_YVIRTUALSCREEN)),
                         CSize(::GetSystemMetrics(SM_CXVIRTUALSCREEN), ::GetSystemMetrics(SM_CYVIRTUALSCREEN)));
    CRect rcArea;
    if (!rcArea.IntersectRect(&rcRows, &rcScreen)) return ScreenShows::Nothing;
    HDC hList = ::GetDC(m_hWnd);
    if (hList == NULL) return ScreenShows::Nothing;
    HRGN hShown = ::CreateRectRgnIndirect(&rcArea);
    HRGN hVisible = ::CreateRectRgn(0, 0, 0, 0);
    if (::GetRandomRgn(hList, hVisible, SYSRGN) == 1) ::CombineRgn(hShown, hShown, hVisible, RGN_AND);
    ::DeleteObject(hVisible);
    ScreenShows shows = ScreenShows::Nothing;
    CRect rcBox;
    if (::GetRgnBox(hShown, &rcBox) != NULLREGION && !rcBox.IsRectEmpty()) {
        HDC hScreen = ::GetDC(NULL);
        // What the list painted, read from its own DC, and what the screen shows there.
        const CPixelCopy painted(hList, rcBox.left - ptOrigin.x, rcBox.top - ptOrigin.y, rcBox.Width(),
                                 rcBox.Height());
        const CPixelCopy shown(hScreen, rcBox.left, rcBox.top, rcBox.Width(), rcBox.Height());
        if (hScreen != NULL) ::ReleaseDC(NULL, hScreen);
        std::vector<BYTE> data(::GetRegionData(hShown, 0, NULL));
        RGNDATA* pData = (RGNDATA*)data.data();
        if (painted.Read() && shown.Read() && !data.empty() &&
            ::GetRegionData(hShown, (DWORD)data.size(), pData) != 0) {
            shows = ScreenShows::Painted;
            const RECT* pRects = (const RECT*)pData->Buffer;
            for (DWORD i = 0; i < pData->rdh.nCount && shows == ScreenShows::Painted; ++i)
                for (int y = pRects[i].top; y < pRects[i].bottom && shows == ScreenShows::Painted; ++y)
                    for (int x = pRects[i].left; x < pRects[i].right; ++x)
                        if (painted.At(x - rcBox.left, y - rcBox.top) != shown.At(x - rcBox.left, y - rcBox.top)) {
                            shows = ScreenShows::Other;
                            break;
                        }
        }
    }
    ::DeleteObject(hShown);
    ::ReleaseDC(m_hWnd, hList);
    return shows;
}

int CExtReportCtrl::RowsTop() const
{
    CRect rcTop;
    if (GetItemCount() > 0 && GetItemRect(GetTopIndex(), &rcTop, LVIR_BOUNDS)) return rcTop.top;
    CHeaderCtrl* pHeader = GetHeaderCtrl();
    if (pHeader == NULL || pHeader->GetSafeHwnd() == NULL || !pHeader->IsWindowVisible()) return 0;
    CRect rcHeader;
    pHeader->GetWindowRect(&rcHeader);
    ScreenToClient(&rcHeader);
    return rcHeader.bottom;
}

int CExtReportCtrl::ShownRowAt(CPoint point) const
{
    const int nTop = RowsTop();
    return point.y < nTop ? -1 : (point.y - nTop) / std::max(1, m_nRowHeight);
}

void CExtReportCtrl::NoteShownRows(bool bAll)
{
    if (!m_fnTakesInput || m_bRedrawOff || m_hWnd == NULL) return;
    // Before the window first shows, the user aimed at nothing in it.
    const bool bShown = ::IsWindowVisible(::GetAncestor(m_hWnd, GA_ROOT)) != FALSE;
    const ULONGLONG ullNow = ::GetTickCount64();
    const int nTop = GetTopIndex(), nCount = GetItemCount();
    CHeaderCtrl* pHeader = GetHeaderCtrl();
    const int nColumns = pHeader != NULL ? pHeader->GetItemCount() : 1;
    // A partly shown row below the whole ones counts as well.
    m_shownRows.resize((size_t)std::max(0, GetCountPerPage()) + 1);
    for (size_t i = 0; i < m_shownRows.size(); ++i) {
        const int nRow = nTop + (int)i;
        std::string text;
        for (int nColumn = 0; nRow < nCount && nColumn < nColumns; ++nColumn) {
            text += (LPCSTR)CellText(nRow, nColumn);
            text += '\t';
        }
        ShownRow& shown = m_shownRows[i];
        if (!bAll && shown.text == text) continue;
        shown.text = text;
        if (bShown) shown.ullChanged = ullNow;
    }
}

void CExtReportCtrl::DropSelectionForRefused()
{
    // The focus stays where it was, so the keys go on from there.
    int nRow = -1;
    bool bDropped = false;
    while ((nRow = GetNextItem(nRow, LVNI_SELECTED)) >= 0) {
        SetItemState(nRow, 0, LVIS_SELECTED);
        bDropped = true;
    }
    if (bDropped) InvalidateBelowHeader();
}

bool CExtReportCtrl::SelectFocusedRow()
{
    if (GetNextItem(-1, LVNI_SELECTED) >= 0) return false;
    const int nFocused = GetNextItem(-1, LVNI_FOCUSED);
    if (nFocused < 0) return false;
    SetItemState(nFocused, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    EnsureVisible(nFocused, FALSE);
    InvalidateBelowHeader();
    return true;
}

BOOL CExtReportCtrl::RedrawRow(int nRow)
{
    CRect rcRow;
    if (!GetItemRect(nRow, &rcRow, LVIR_BOUNDS)) return FALSE;
    rcRow.left = 0;
    rcRow.right = m_nClientWidth;
    InvalidateRect(&rcRow, FALSE);
    UpdateWindow();
    return TRUE;
}

void CExtReportCtrl::SetRowHeight(int nHeight)
{
    m_nRowHeight = nHeight;
    // The list view asks for the row height again when it is told of a new size.
    CRect rcWnd;
    GetWindowRect(&rcWnd);
    WINDOWPOS wp = {};
    wp.hwnd = m_hWnd;
    wp.cx = rcWnd.Width();
    wp.cy = rcWnd.Height();
    wp.flags = SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER;
    SendMessage(WM_WINDOWPOSCHANGED, 0, (LPARAM)&wp);
}

void CExtReportCtrl::MeasureRow(MEASUREITEMSTRUCT* pMeasure) { pMeasure->itemHeight = m_nRowHeight; }

void CExtReportCtrl::MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct) { MeasureRow(lpMeasureItemStruct); }

// ---- painting ------------------------------------------------------------------------

void CExtReportCtrl::OnPaint()
{
    {
        CPaintDC dc(this);
        CRect rcClient;
        GetClientRect(&rcClient);
        if (!dc.RectVisible(&rcClient)) return;
        PaintClient(&dc, rcClient);
        CWindowDC dcWindow(this);
        CRect rcClip;
        dcWindow.GetClipBox(&rcClip);
        CExtPaintManager* pPM = GetPaintManager();
        if (pPM != NULL) pPM->DrawSimpleFrame(dcWindow, rcClip, this);
    }
    // The rows are the system's to show once the paint has ended, not before.
    if (m_fnShown) m_fnShown();
}

void CExtReportCtrl::PaintClient(CDC* pDC, const CRect& rcClient)
{
    CExtMemoryDC dcBuffer(pDC, &rcClient, 0x03);
    DrawRows(&dcBuffer, &rcClient);
}

BOOL CExtReportCtrl::OnEraseBkgnd(CDC*) { return FALSE; }

COLORREF CExtReportCtrl::ListBkColor() const
{
    // A list view without a background of its own answers CLR_NONE; it shows the
    // window colour then.
    COLORREF clr = GetBkColor();
    return clr == CLR_NONE || clr == CLR_DEFAULT ? ::GetSysColor(COLOR_WINDOW) : clr;
}

void CExtReportCtrl::DrawRows(CDC* pDC, const RECT* pClient)
{
    pDC->FillSolidRect(pClient, ListBkColor());
    int nCount = GetItemCount();
    int nTop = GetTopIndex();
    int nLast = nTop + GetCountPerPage() + 1;
    for (int nRow = nTop; nRow <= nLast && nRow < nCount; ++nRow) DrawRow(pDC, nRow);
}

void CExtReportCtrl::DrawRow(CDC* pDC, int nRow)
{
    ReportRowData* pRow = GetRowData(nRow);
    ReportCellFormat& first = GetCellFormat(pRow, 0);
    CRect rcItem;
    GetItemRect(nRow, &rcItem, LVIR_BOUNDS);
    CRect rcClient;
    GetClientRect(&rcClient);

    bool bFocused = ::GetFocus() == m_hWnd && (GetItemState(nRow, LVIS_FOCUSED) & LVIS_FOCUSED) != 0;
    bool bSelected = (GetItemState(nRow, LVIS_SELECTED) & LVIS_SELECTED) != 0;
    COLORREF clrBack = ListBkColor();
    COLORREF clrText = GetTextColor();
    if (clrText == CLR_DEFAULT || clrText == CLR_NONE) clrText = ::GetSysColor(COLOR_WINDOWTEXT);
    if (bSelected) {
        if ((GetStyle() & LVS_SHOWSELALWAYS) != 0 || bFocused) {
            clrBack = ::GetSysColor(COLOR_HIGHLIGHT);
            clrText = ::GetSysColor(COLOR_HIGHLIGHTTEXT);
        } else {
            clrBack = ::GetSysColor(COLOR_INACTIVEBORDER);
            clrText = ::GetSysColor(COLOR_BTNTEXT);
        }
    } else {
        if (m_bAlternateRows) clrBack = (nRow % 2) == 0 ? m_clrGrid1 : m_clrGrid2;
        if (first.bTextSet) clrText = first.clrText;
        if (first.bBackSet) clrBack = first.clrBack;
    }

    COLORREF clrOldText = pDC->SetTextColor(clrText);
    m_clrGridLines = ::GetSysColor(COLOR_BTNFACE);
    m_bGridLines = true;
    pDC->FillSolidRect(rcClient.left, rcItem.top, rcClient.Width(), rcItem.Height(), clrBack);
    if (m_bGridLines && !bSelected)
        CExtPaintManager::DrawDottedLineHorz(*pDC, rcClient.left, rcClient.right, rcItem.bottom - 1, m_clrGridLines);

    CExtPaintManager* pPM = GetPaintManager();
    CFont* pOldFont = NULL;
    if (pPM != NULL) pOldFont = pDC->SelectObject(first.bBold ? &pPM->m_FontBold : &pPM->m_FontNormal);

    LVCOLUMN column = {};
    column.mask = LVCF_FMT | LVCF_WIDTH;
    for (int nColumn = 0; GetColumn(nColumn, &column); ++nColumn) {
        int nAlign = (column.fmt & LVCFMT_RIGHT) ? 2 : (column.fmt & LVCFMT_CENTER) ? 1 : 0;
        DrawSubItem(pDC, nRow, nColumn, nAlign, bSelected);
    }

    if (bFocused) {
        CRect rcFocus;
        GetItemRect(nRow, &rcFocus, LVIR_SELECTBOUNDS);
        pDC->DrawFocusRect(&rcFocus);
    }
    if (pOldFont != NULL) pDC->SelectObject(pOldFont);
    pDC->SetTextColor(clrOldText);
}

void CExtReportCtrl::DrawSubItem(CDC* pDC, int nRow, int nColumn, int nAlign, bool bSelected)
{
    CRect rcCell;
    GetSubItemRect(nRow, nColumn, LVIR_LABEL, rcCell);
    ReportCellFormat& format = GetCellFormat(GetRowData(nRow), nColumn);
    int nOldMode = pDC->SetBkMode(TRANSPARENT);
    CRect rcText(rcCell);
    rcText.DeflateRect(1, 0);

    if (format.hIcon != NULL) {
        int cx = ::GetSystemMetrics(SM_CXSMICON), cy = ::GetSystemMetrics(SM_CYSMICON);
        ICONINFO info = {};
        if (::GetIconInfo(format.hIcon, &info)) {
            cx = (int)info.xHotspot * 2;
            cy = (int)info.yHotspot * 2;
            if (info.hbmMask != NULL) ::DeleteObject(info.hbmMask);
            if (info.hbmColor != NULL) ::DeleteObject(info.hbmColor);
        }
        ::DrawIconEx(pDC->m_hDC, rcText.left, rcText.top + (rcText.Height() - cy) / 2, format.hIcon, cx, cy, 0, NULL,
                     DI_NORMAL);
        rcText.left += cx + 2;
    }

    CString strText = CellText(nRow, nColumn);
    UINT nFormat = DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS;
    if (nAlign == 1) nFormat |= DT_CENTER;
    if (nAlign == 2) nFormat |= DT_RIGHT;
    pDC->DrawText(strText, &rcText, nFormat);
    pDC->SetBkMode(nOldMode);

    if (!bSelected && m_clrGridLines != 0)
        CExtPaintManager::DrawDottedLineVert(*pDC, rcCell.right - 1, rcCell.top, rcCell.bottom - 1, m_clrGridLines);
}

// ---- hit testing and sorting ---------------------------------------------------------

bool CExtReportCtrl::HitTestCell(POINT pt, int* pRow, int* pColumn, RECT* pCell)
{
    int nCount = GetItemCount();
    int nTop = GetTopIndex();
    int nLast = nTop + GetCountPerPage();
    int nHit = -1;
    CRect rcRow;
    for (int nRow = nTop; nRow <= nLast && nRow < nCount; ++nRow) {
        if (GetItemRect(nRow, &rcRow, LVIR_BOUNDS) && pt.y >= rcRow.top && pt.y < rcRow.bottom) {
            nHit = nRow;
            break;
        }
    }
    if (nHit < 0 || pt.x > rcRow.right) return false;
    if (pRow != NULL) *pRow = nHit;

    int nLeft = rcRow.left;
    LVCOLUMN column = {};
    column.mask = LVCF_WIDTH;
    for (int nColumn = 0; GetColumn(nColumn, &column); ++nColumn) {
        int nRight = nLeft + column.cx;
        if (nRight > pt.x) {
            if (pColumn != NULL) *pColumn = nColumn;
            if (pCell != NULL) {
                pCell->left = nLeft;
                pCell->right = nRight;
                pCell->top = rcRow.top;
                pCell->bottom = rcRow.bottom;
            }
            break;
        }
        nLeft = nRight;
    }
    return true;
}

void CExtReportCtrl::SwapRows(int nFirst, int nSecond, int nColumns)
{
    for (int nColumn = 0; nColumn < nColumns; ++nColumn) {
        CString strFirst = CellText(nFirst, nColumn), strSecond = CellText(nSecond, nColumn);
        SetItemText(nFirst, nColumn, strSecond);
        SetItemText(nSecond, nColumn, strFirst);
    }
    LVITEM first = {}, second = {};
    first.mask = second.mask = LVIF_IMAGE | LVIF_PARAM | LVIF_STATE;
    first.stateMask = second.stateMask = 0xFF0F;
    first.iItem = nFirst;
    second.iItem = nSecond;
    GetItem(&first);
    GetItem(&second);
    first.iItem = nSecond;
    second.iItem = nFirst;
    SetItem(&first);
    SetItem(&second);
}

bool CExtReportCtrl::SortByColumnText(int nColumn, bool bAscending, int nLow, int nHigh)
{
    int nColumns = GetHeaderCtrl() != NULL ? GetHeaderCtrl()->GetItemCount() : 0;
    if (nColumn >= nColumns) return false;
    if (nHigh == -1) nHigh = GetItemCount() - 1;
    if (nHigh <= nLow) return true;

    auto compare = [](const CString& a, const CString& b) {
        return _mbscmp((const unsigned char*)(LPCTSTR)a, (const unsigned char*)(LPCTSTR)b);
    };
    int lo = nLow, hi = nHigh;
    CString strPivot = CellText((nLow + nHigh) / 2, nColumn);
    do {
        if (bAscending) {
            while (lo < nHigh && compare(CellText(lo, nColumn), strPivot) < 0) ++lo;
            while (hi > nLow && compare(CellText(hi, nColumn), strPivot) > 0) --hi;
        } else {
            while (lo < nHigh && compare(CellText(lo, nColumn), strPivot) > 0) ++lo;
            while (hi > nLow && compare(CellText(hi, nColumn), strPivot) < 0) --hi;
        }
        if (lo <= hi) {
            if (compare(CellText(lo, nColumn), CellText(hi, nColumn)) != 0) SwapRows(lo, hi, nColumns);
            ++lo;
            --hi;
        }
    } while (lo <= hi);
    if (nLow < hi) SortByColumnText(nColumn, bAscending, nLow, hi);
    if (lo < nHigh) SortByColumnText(nColumn, bAscending, lo, nHigh);
    return true;
}

// ---- layout --------------------------------------------------------------------------

void CExtReportCtrl::SaveColumnWidths()
{
    CHeaderCtrl* pHeader = GetHeaderCtrl();
    int nColumns = pHeader != NULL ? pHeader->GetItemCount() : 0;
    CString strValue, strItem;
    for (int i = 0; i < nColumns; ++i) {
        strItem.Format("%d,", GetColumnWidth(i));
        strValue += strItem;
    }
    CWinApp* pApp = AfxGetApp();
    if (pApp != NULL) pApp->WriteProfileString(m_strProfileSection, m_strProfileWidths, strValue);
}

void CExtReportCtrl::SaveColumnOrder()
{
    CHeaderCtrl* pHeader = GetHeaderCtrl();
    int nColumns = pHeader != NULL ? pHeader->GetItemCount() : 0;
    CString strValue, strItem;
    if (nColumns > 0) {
        std::vector<int> order(nColumns);
        if (GetColumnOrderArray(order.data(), nColumns)) {
            for (int i = 0; i < nColumns; ++i) {
                strItem.Format("%d,", order[i]);
                strValue += strItem;
            }
        }
    }
    CWinApp* pApp = AfxGetApp();
    if (pApp != NULL) pApp->WriteProfileString(m_strProfileSection, m_strProfileOrder, strValue);
}

// ---- messages ------------------------------------------------------------------------

CRect CExtReportCtrl::RowsArea() const
{
    CRect rcRows;
    GetClientRect(&rcRows);
    CHeaderCtrl* pHeader = GetHeaderCtrl();
    if (pHeader != NULL && pHeader->GetSafeHwnd() != NULL && pHeader->IsWindowVisible()) {
        CRect rcHeader;
        pHeader->GetWindowRect(&rcHeader);
        ScreenToClient(&rcHeader);
        rcRows.top = std::min(std::max(rcRows.top, rcHeader.bottom), rcRows.bottom);
    }
    return rcRows;
}

void CExtReportCtrl::InvalidateBelowHeader()
{
    CRect rcRows = RowsArea();
    InvalidateRect(&rcRows, FALSE);
}

void CExtReportCtrl::OnSize(UINT nType, int cx, int cy)
{
    CListCtrl::OnSize(nType, cx, cy);
    CRect rcClient;
    GetClientRect(&rcClient);
    m_nClientWidth = rcClient.Width();
    InvalidateBelowHeader();
}

void CExtReportCtrl::OnLButtonDown(UINT nFlags, CPoint point)
{
    Invalidate(FALSE);
    CListCtrl::OnLButtonDown(nFlags, point);
}

void CExtReportCtrl::OnRButtonDown(UINT nFlags, CPoint point)
{
    Invalidate(TRUE);
    CListCtrl::OnRButtonDown(nFlags, point);
}

BOOL CExtReportCtrl::OnClickReflect(NMHDR*, LRESULT*)
{
    InvalidateBelowHeader();
    UpdateWindow();
    return FALSE;
}

BOOL CExtReportCtrl::OnKeyDownReflect(NMHDR*, LRESULT*)
{
    InvalidateBelowHeader();
    return FALSE;
}

BOOL CExtReportCtrl::OnKillFocusReflect(NMHDR*, LRESULT*)
{
    Invalidate(TRUE);
    return FALSE;
}

BOOL CExtReportCtrl::OnInsertItemReflect(NMHDR* pNMHDR, LRESULT*)
{
    GetRowData(((NMLISTVIEW*)pNMHDR)->iItem);
    return FALSE;
}

BOOL CExtReportCtrl::OnDeleteItemReflect(NMHDR* pNMHDR, LRESULT*)
{
    NMLISTVIEW* pNM = (NMLISTVIEW*)pNMHDR;
    ReportRowData* pRow = (ReportRowData*)pNM->lParam;
    if (pRow == NULL) pRow = (ReportRowData*)GetItemData(pNM->iItem);
    delete pRow;
    return FALSE;
}

BOOL CExtReportCtrl::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    NMHDR* pNMHDR = (NMHDR*)lParam;
    CHeaderCtrl* pHeader = GetHeaderCtrl();
    if (pNMHDR != NULL && pHeader != NULL && pNMHDR->hwndFrom == pHeader->GetSafeHwnd()) {
        NMHEADERA* pHeaderNotify = (NMHEADERA*)pNMHDR;
        switch (pNMHDR->code) {
        case HDN_BEGINTRACKA:
        case HDN_BEGINTRACKW: {
            HDITEMA item = {};
            item.mask = HDI_LPARAM;
            if (::SendMessageA(pNMHDR->hwndFrom, HDM_GETITEMA, pHeaderNotify->iItem, (LPARAM)&item) &&
                item.lParam != 0) {
                if (pResult != NULL) *pResult = 1;
                return TRUE;
            }
            break;
        }
        case HDN_ITEMCLICKA:
        case HDN_ITEMCLICKW: {
            if (pHeaderNotify->iButton == 0) {
                if (pHeaderNotify->iItem == m_nSortColumn)
                    m_bSortAscending = !m_bSortAscending;
                else
                    m_bSortAscending = true;
                m_nSortColumn = pHeaderNotify->iItem;
                if (m_bSortOnHeaderClick) SortByColumnText(m_nSortColumn, m_bSortAscending, 0, -1);
            }
            // The owner sees the click as one of the list itself and can run its own sort.
            pNMHDR->hwndFrom = m_hWnd;
            pNMHDR->idFrom = (UINT_PTR)GetDlgCtrlID();
            CWnd* pOwner = GetOwner();
            if (pOwner == NULL) pOwner = GetParent();
            if (pOwner != NULL) pOwner->SendMessage(WM_NOTIFY, pNMHDR->idFrom, lParam);
            // The list view itself still takes the header's click.
            pNMHDR->hwndFrom = pHeader->GetSafeHwnd();
            pNMHDR->idFrom = (UINT_PTR)::GetDlgCtrlID(pHeader->GetSafeHwnd());
            break;
        }
        default:
            break;
        }
    }
    return CListCtrl::OnNotify(wParam, lParam, pResult);
}

INT_PTR CExtReportCtrl::OnToolHitTest(CPoint point, TOOLINFO* pTI) const
{
    LVHITTESTINFO hit = {};
    hit.pt = point;
    ::SendMessageA(m_hWnd, LVM_SUBITEMHITTEST, 0, (LPARAM)&hit);
    if (hit.iItem < 0 || (hit.flags & LVHT_ONITEMLABEL) == 0) return -1;

    CExtReportCtrl* pThis = const_cast<CExtReportCtrl*>(this);
    CString strText = CellText(hit.iItem, hit.iSubItem);
    int nWidth = GetStringWidth(strText);
    ReportRowData* pRow = (ReportRowData*)GetItemData(hit.iItem);
    bool bIcon = pRow != NULL && hit.iSubItem < pRow->cells.GetSize() && pRow->cells[hit.iSubItem].hIcon != NULL;
    nWidth += bIcon ? ::GetSystemMetrics(SM_CXSMICON) + 3 : 1;
    CRect rcCell;
    pThis->GetSubItemRect(hit.iItem, hit.iSubItem, LVIR_LABEL, rcCell);
    if (nWidth <= rcCell.Width()) return -1;

    INT_PTR nId = ((INT_PTR)hit.iItem << 10) + (hit.iSubItem & 0x3FF) + 1;
    if (pTI != NULL) {
        pTI->hwnd = m_hWnd;
        pTI->uId = (UINT_PTR)nId;
        pTI->rect = rcCell;
        pTI->lpszText = LPSTR_TEXTCALLBACK;
    }
    return nId;
}

BOOL CExtReportCtrl::OnToolTipText(UINT, NMHDR* pNMHDR, LRESULT* pResult)
{
    UINT_PTR nId = pNMHDR->idFrom;
    if (nId == 0) return FALSE;
    int nRow = (int)((nId - 1) >> 10);
    int nColumn = (int)((nId - 1) & 0x3FF);
    CString strText = CellText(nRow, nColumn);
    if (pNMHDR->code == TTN_NEEDTEXTA) {
        NMTTDISPINFOA* pInfo = (NMTTDISPINFOA*)pNMHDR;
        lstrcpynA(pInfo->szText, strText, (int)(sizeof(pInfo->szText) / sizeof(pInfo->szText[0])));
    } else {
        NMTTDISPINFOW* pInfo = (NMTTDISPINFOW*)pNMHDR;
        int nMax = (int)(sizeof(pInfo->szText) / sizeof(pInfo->szText[0]));
        if (::MultiByteToWideChar(CP_ACP, 0, strText, -1, pInfo->szText, nMax) == 0) {
            // Too long for the buffer: the part that fits, terminated.
            ::MultiByteToWideChar(CP_ACP, 0, strText, nMax - 1, pInfo->szText, nMax - 1);
            pInfo->szText[nMax - 1] = L'\0';
        }
    }
    if (pResult != NULL) *pResult = 0;
    return TRUE;
}

LRESULT CExtReportCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (IsClickMessage(message)) return OnButtonInput(message, wParam, lParam);
    switch (message) {
    case WM_DESTROY:
        if (m_bSaveLayout) {
            SaveColumnWidths();
            SaveColumnOrder();
        }
        break;
    case LVM_SETSELECTIONMARK: {
        CListCtrl::WindowProc(message, wParam, lParam);
        if (GetStyle() & LVS_SINGLESEL) DeselectAll();
        SetItemState((int)lParam, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
        Invalidate(FALSE);
        UpdateWindow();
        return 0;
    }
    case WM_RBUTTONUP:
        // The release of a refused press would still ask for the context menu.
        if (m_bRightRefused) {
            m_bRightRefused = false;
            return 0;
        }
        break;
    case WM_KEYDOWN:
    case WM_CHAR: {
        // Typed letters pick a row by its name.
        if (m_fnTakesInput && !m_fnTakesInput(message, ::GetMessageTime())) {
            // The keys typed on after it were aimed at the list as it was too.
            CInputRule::InputDropped(message, wParam, ::GetMessageTime());
            return 0;
        }
        const LRESULT lResult =
            message == WM_KEYDOWN ? OnRowKey(wParam, lParam) : CListCtrl::WindowProc(message, wParam, lParam);
        // A key may scroll the rows.
        NoteShownRows();
        return lResult;
    }
    case WM_SETREDRAW: {
        // Filled or sorted with redrawing off: what shows is compared when it is on again.
        m_bRedrawOff = wParam == 0;
        const LRESULT lResult = CListCtrl::WindowProc(message, wParam, lParam);
        NoteShownRows();
        return lResult;
    }
    case WM_VSCROLL:
    case WM_MOUSEWHEEL:
    case WM_SIZE:
    case LVM_SCROLL:
    case LVM_ENSUREVISIBLE:
    case LVM_SORTITEMS:
    case LVM_DELETEALLITEMS: {
        const LRESULT lResult = CListCtrl::WindowProc(message, wParam, lParam);
        NoteShownRows();
        return lResult;
    }
    case LVM_UPDATE:
        return RedrawRow((int)wParam);
    case WM_PRINTCLIENT: {
        // Printing a window paints what the screen shows, without the non-client frame.
        CDC* pDC = CDC::FromHandle((HDC)wParam);
        CRect rcClient;
        GetClientRect(&rcClient);
        PaintClient(pDC, rcClient);
        return 0;
    }
    default:
        break;
    }
    return CListCtrl::WindowProc(message, wParam, lParam);
}
