// The report grid window: construction and creation, styles, texts, the companion
// windows, the command profile and the header context menu's tracking.
#include "toolkit/reportgrid/report_grid_wnd.h"
#include "toolkit/core/cmd_manager.h"
#include "toolkit/core/resource_manager.h"
#include <vector>

IMPLEMENT_DYNCREATE(CExtReportGridWnd, CExtTreeGridWnd)

CExtBitmap CExtReportGridWnd::g_bmpHeader;

namespace {

// The header image's rows, top to bottom: 19 rows of the face, then three darker ones.
const BYTE g_HeaderRowColors[4][3] = {{236, 233, 216}, {220, 216, 200}, {210, 207, 190}, {197, 194, 178}};
const int g_nHeaderWidth = 8, g_nHeaderHeight = 22, g_nHeaderImageBytes = 583;

// The built-in 8 x 22 header image as a BMP file image: 14 + 40 header bytes, 22
// bottom-up rows of 24 bytes and one byte of padding.
std::vector<BYTE> HeaderImageBytes()
{
    std::vector<BYTE> bytes(g_nHeaderImageBytes, 0);
    const DWORD nRowBytes = g_nHeaderWidth * 3, nOffBits = 14 + 40;
    BITMAPFILEHEADER bf = {};
    bf.bfType = 0x4D42;
    bf.bfSize = g_nHeaderImageBytes;
    bf.bfOffBits = nOffBits;
    BITMAPINFOHEADER bi = {};
    bi.biSize = sizeof(bi);
    bi.biWidth = g_nHeaderWidth;
    bi.biHeight = g_nHeaderHeight;
    bi.biPlanes = 1;
    bi.biBitCount = 24;
    bi.biCompression = BI_RGB;
    bi.biSizeImage = nRowBytes * g_nHeaderHeight;
    ::memcpy(&bytes[0], &bf, 14);
    ::memcpy(&bytes[14], &bi, 40);
    for (int y = 0; y < g_nHeaderHeight; y++)
    {
        const int nTopRow = g_nHeaderHeight - 1 - y;  // stored bottom-up
        const BYTE* rgb = g_HeaderRowColors[nTopRow < 19 ? 0 : nTopRow - 18];
        for (int x = 0; x < g_nHeaderWidth; x++)
        {
            BYTE* p = &bytes[nOffBits + y * nRowBytes + x * 3];
            p[0] = rgb[2], p[1] = rgb[1], p[2] = rgb[0];
        }
    }
    return bytes;
}

}  // namespace

BEGIN_MESSAGE_MAP(CExtReportGridWnd, CExtTreeGridWnd)
    ON_REGISTERED_MESSAGE(CExtPopupMenuWnd::g_nMsgNotifyMenuClosed, OnMenuClosed)
END_MESSAGE_MAP()

CExtReportGridWnd::CExtReportGridWnd()
    : m_nPaintFlags(0),
      m_nFirstColumnCommandID(15000),
      m_pContextColumn(NULL),
      m_nLockPainting(0),
      m_nLockScrollBars(0),
      m_nLockGridLines(0),
      m_nLockColumnVisibility(0),
      m_nLockRowVisibility(0),
      m_dwReportStyle(__ERGS_DEFAULT),
      m_dwReportStyleEx(0),
      m_nMaxGroupByColumns(32767),
      m_mapCategories(10),
      m_mapColumns(10),
      m_nStateFlags(0),
      m_pWndCategoryComboBox(NULL),
      m_pWndColumnChooser(NULL),
      m_pWndGroupArea(NULL),
      m_pReportDP(NULL)
{
    m_strProfileName.Format(_T("Kestrix-Report-Grid-%p"), (void*)this);
    if (g_bmpHeader.IsEmpty())
    {
        const std::vector<BYTE> bytes = HeaderImageBytes();
        g_bmpHeader.LoadFromBuffer(&bytes[0], (DWORD)bytes.size());
    }
}

CExtReportGridWnd::~CExtReportGridWnd()
{
    ColumnUnregisterAll(NULL, NULL, false);
    m_mapColumns.RemoveAll();
    POSITION pos = m_mapCategories.GetStartPosition();
    while (pos != NULL)
    {
        CString strKey;
        void* p = NULL;
        m_mapCategories.GetNextAssoc(pos, strKey, p);
        delete (ColumnArray*)p;
    }
    m_mapCategories.RemoveAll();
}

// ---- provider, bars, creation ----------------------------------------------------------

CExtGridDataProvider* CExtReportGridWnd::GetDataProvider()
{
    if (m_pDataProvider != NULL)
        return m_pDataProvider;
    try
    {
        m_pReportDP = new CExtReportGridDataProvider;
        m_pDataProvider = m_pReportDP;
    }
    catch (CException* pException)
    {
        pException->Delete();
        m_pReportDP = NULL;
        m_pDataProvider = NULL;
    }
    return m_pDataProvider;
}

CExtReportGridDataProvider& CExtReportGridWnd::GetReportDataProvider()
{
    GetDataProvider();
    if (m_pReportDP == NULL)
        AfxThrowMemoryException();
    return *m_pReportDP;
}

CScrollBar* CExtReportGridWnd::GetScrollBarCtrl(int nBar) const
{
    if (m_hWnd == NULL)
        return NULL;
    const CExtScrollBar& bar = nBar == SB_HORZ ? m_wndScrollBarH : m_wndScrollBarV;
    if ((nBar != SB_HORZ && nBar != SB_VERT) || bar.m_hWnd == NULL)
        return NULL;
    return const_cast<CExtScrollBar*>(&bar);
}

void CExtReportGridWnd::UpdateScrollBars()
{
    if (m_nLockScrollBars != 0)
        return;
    CExtTreeGridWnd::UpdateScrollBars();
}

bool CExtReportGridWnd::OnInitializeWindow()
{
    if ((m_nStateFlags & 0x1) != 0)
        return true;
    m_nStateFlags |= 0x1;
    if (!CExtTreeGridWnd::OnInitializeWindow())
        return false;
    GetColumnChooser();
    GetCategoryComboBox();
    GetGroupArea();
    ModifyScrollItemStyle(0x27142808, 0, false);
    ModifyScrollItemStyleEx(0x820F0082, 0, false);
    ModifyBehaviorStyle(0x1800080, 0x1E0090, false);
    ModifyGridStyleEx(0x3054D2, 0, false);
    SetTopOuterRowCount(1, false);
    RowExtentSet(true, 0, RowExtentGet(true, 0) + 3);
    m_wndScrollBarH.m_nBarKind = 1;
    m_wndScrollBarV.m_nBarKind = 3;
    if (m_wndScrollBarV.m_hWnd == NULL &&
        !m_wndScrollBarV.Create(WS_CHILD | WS_VISIBLE | SBS_VERT | SBS_RIGHTALIGN, CRect(0, 0, 0, 0), this, 1))
        return false;
    if (m_wndScrollBarH.m_hWnd == NULL &&
        !m_wndScrollBarH.Create(WS_CHILD | WS_VISIBLE | SBS_HORZ | SBS_BOTTOMALIGN, CRect(0, 0, 0, 0), this, 2))
        return false;
    m_wndScrollBarV.UpdateCornerFlags(&m_wndScrollBarH);
    m_wndScrollBarH.UpdateCornerFlags(&m_wndScrollBarV);
    CalcClientRect(NULL, true, NULL);
    return true;
}

void CExtReportGridWnd::PreSubclassWindow()
{
    CExtTreeGridWnd::PreSubclassWindow();
    m_nStateFlags &= ~0x2;
    SetupCommandProfile();
}

void CExtReportGridWnd::PostNcDestroy()
{
    m_nStateFlags &= ~0x2;
    DestroyCommandProfile();
    m_nStateFlags &= ~0x1;
    // The companions are children: the window's destruction took them.
    m_pWndCategoryComboBox = NULL;
    m_pWndColumnChooser = NULL;
    m_pWndGroupArea = NULL;
    CExtTreeGridWnd::PostNcDestroy();
}

LRESULT CExtReportGridWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_CREATE && !OnInitializeWindow())
        return 0;
    return CExtTreeGridWnd::WindowProc(message, wParam, lParam);
}

LRESULT CExtReportGridWnd::OnMenuClosed(WPARAM, LPARAM)
{
    if ((m_nStateFlags & 0x2) != 0)
    {
        m_nStateFlags &= ~0x2;
        UpdateAndRedraw();
    }
    return 0;
}

void CExtReportGridWnd::UpdateAndRedraw()
{
    if (m_hWnd == NULL || !::IsWindow(m_hWnd))
        return;
    UpdateScrollBars();
    Redraw();
}

// ---- styles ----------------------------------------------------------------------------

DWORD CExtReportGridWnd::GetReportStyle() const { return m_dwReportStyle; }
DWORD CExtReportGridWnd::GetReportStyleEx() const { return m_dwReportStyleEx; }

DWORD CExtReportGridWnd::ModifyReportStyle(DWORD dwAdd, DWORD dwRemove, bool bRedraw)
{
    const bool bWindow = m_hWnd != NULL && ::IsWindow(m_hWnd);
    if (bRedraw && bWindow)
        SendMessage(WM_CANCELMODE);
    const DWORD dwOld = m_dwReportStyle;
    m_dwReportStyle = (dwOld & ~dwRemove) | dwAdd;
    if (bRedraw && bWindow)
        UpdateAndRedraw();
    return dwOld;
}

DWORD CExtReportGridWnd::ModifyReportStyleEx(DWORD dwAdd, DWORD dwRemove, bool bRedraw)
{
    const bool bWindow = m_hWnd != NULL && ::IsWindow(m_hWnd);
    if (bRedraw && bWindow)
        SendMessage(WM_CANCELMODE);
    const DWORD dwOld = m_dwReportStyleEx;
    m_dwReportStyleEx = (dwOld & ~dwRemove) | dwAdd;
    if (bRedraw && bWindow)
        UpdateAndRedraw();
    return dwOld;
}

void CExtReportGridWnd::PreviewStyleSet(bool bOn, bool bRedraw)
{
    if (IsPreviewStyle() == bOn)
        return;
    ModifyReportStyle(bOn ? (DWORD)__ERGS_PREVIEW : 0u, bOn ? 0u : (DWORD)__ERGS_PREVIEW, false);
    if (!bRedraw || m_hWnd == NULL || !::IsWindow(m_hWnd))
        return;
    UpdateScrollBars();
    const POINT ptFocus = FocusGet();
    if (ptFocus.y >= 0)
        CExtTreeGridWnd::EnsureRowVisible(ptFocus.y, false);
    Redraw();
}

int CExtReportGridWnd::GetMaxGroupByColumns() const { return m_nMaxGroupByColumns; }

void CExtReportGridWnd::SetMaxGroupByColumns(int nCount, bool bApply, bool bRedraw)
{
    // A negative maximum would refuse every order, the empty one too.
    m_nMaxGroupByColumns = nCount < 0 ? 0 : nCount;
    if (!bApply)
        return;
    CExtReportGridSortOrder& order = GetReportDataProvider().ReportSortOrderGet();
    if (order.GetGroupCount() <= m_nMaxGroupByColumns)
        return;
    order.SetGroupCount(m_nMaxGroupByColumns);
    RebuildItems(bRedraw && m_hWnd != NULL && ::IsWindow(m_hWnd));
}

void CExtReportGridWnd::OnGroupByLimitReached()
{
    if (m_hWnd == NULL || !::IsWindow(m_hWnd))
        return;
    CString strFormat = LoadText(30509, _T("You cannot group items by more than %d fields.")), strText;
    strText.Format(strFormat, m_nMaxGroupByColumns);
    ::MessageBox(m_hWnd, strText, NULL, MB_OK | MB_ICONINFORMATION);
}

void CExtReportGridWnd::OnCannotGroupOrSort(const CExtReportGridSortOrder& order, int nIndex, bool bGroup)
{
    if (m_hWnd == NULL || !::IsWindow(m_hWnd))
        return;
    CExtReportGridColumn* pColumn = order.ItemGet(nIndex);
    CString strName;
    if (pColumn != NULL)
        strName = pColumn->ColumnNameGet();
    CString strText;
    if (strName.IsEmpty())
        strText = bGroup ? LoadText(30504, _T("You cannot group items by this column."))
                         : LoadText(30505, _T("You cannot sort items by this column."));
    else
        strText.Format(bGroup ? LoadText(30506, _T("You cannot group items by the \"%s\" column."))
                              : LoadText(30507, _T("You cannot sort items by the \"%s\" column.")),
                       (LPCTSTR)strName);
    ::MessageBox(m_hWnd, strText, NULL, MB_OK | MB_ICONINFORMATION);
}

// ---- texts ------------------------------------------------------------------------------

CString CExtReportGridWnd::LoadText(UINT nID, LPCTSTR sBuiltIn)
{
    CString str;
    if (!g_CurrentResourceManager->LoadString(str, nID) || str.IsEmpty())
        str = sBuiltIn;
    return str;
}

void CExtReportGridWnd::GetSortTooltipText(CString& strText, const CExtReportGridColumn* pColumn)
{
    const CString strFormat = LoadText(30500, _T("Sort by: %s"));
    strText.Format(strFormat, pColumn != NULL ? pColumn->ColumnNameGet() : _T(""));
}

CString CExtReportGridWnd::GetChooserCaption() { return LoadText(30501, _T("Field Chooser")); }
CString CExtReportGridWnd::GetGroupAreaEmptyText()
{
    return LoadText(30502, _T("Drag a column header here to group by that content."));
}
CString CExtReportGridWnd::GetEmptyViewText() { return LoadText(30503, _T("There are no items to show in this view.")); }
CString CExtReportGridWnd::GetNoFieldsText() { return LoadText(30508, _T("(no fields available)")); }

// ---- command profile and the header menu's tracking ----------------------------------------

CString CExtReportGridWnd::GetProfileName() const { return m_strProfileName; }

bool CExtReportGridWnd::SetupCommandProfile()
{
    if (m_hWnd == NULL || !g_CommandManager->ProfileSetup(m_strProfileName, m_hWnd))
        return false;
    g_CommandManager->UpdateFromMenuResource(m_strProfileName, __ID_HEADER_MENU);
    CExtBitmap bmp;
    if (!bmp.LoadFromResource(MAKEINTRESOURCE(__ID_HEADER_MENU_BITMAP), RT_BITMAP))
        return true;  // commands without icons
    const UINT arrIconCommands[] = {0x76F5, 0x76F6, 0x76F7, 0x76F8, 0x76FC};
    for (int i = 0; i < (int)(sizeof(arrIconCommands) / sizeof(arrIconCommands[0])); i++)
    {
        const CRect rc(i * 16, 0, i * 16 + 16, 16);
        g_CommandManager->CmdSetIconFromBitmap(m_strProfileName, arrIconCommands[i], bmp, rc, RGB(255, 0, 255));
    }
    return true;
}

void CExtReportGridWnd::DestroyCommandProfile() { g_CommandManager->ProfileDestroy(m_strProfileName, true); }

bool CExtReportGridWnd::ShowHeaderContextMenu(CObject* pSource, CExtReportGridColumn* pColumn, CPoint ptScreen,
                                              const RECT* pRectExcludeScreen, DWORD dwTrackFlags)
{
    (void)pSource;
    if ((m_dwReportStyle & __ERGS_HEADER_MENU) == 0 || m_hWnd == NULL || !::IsWindow(m_hWnd))
        return false;
    // The caller is usually a mouse handler; a menu that cannot be had is simply not shown.
    CExtPopupMenuWnd* pPopup = new CExtPopupMenuWnd;
    if (!pPopup->CreatePopupMenu(m_hWnd) || !FillHeaderContextMenu(pPopup, pColumn, dwTrackFlags))
    {
        delete pPopup;
        return false;
    }
    m_pContextColumn = pColumn;
    // A tracked menu deletes itself when it closes; a menu that fails to track does too.
    return pPopup->TrackPopupMenu(dwTrackFlags, ptScreen.x, ptScreen.y, pRectExcludeScreen) != FALSE;
}

bool CExtReportGridWnd::OnColumnMenuItemClick(CExtPopupMenuWnd* pPopup, LPVOID pItemData)
{
    (void)pPopup;
    CExtPopupMenuWnd::MENUITEMDATA* pMII = (CExtPopupMenuWnd::MENUITEMDATA*)pItemData;
    if (pMII == NULL)
        return false;
    // The item's user value holds the column.
    CExtReportGridColumn* pColumn = (CExtReportGridColumn*)(DWORD_PTR)pMII->m_dwUserValue;
    CExtReportGridWnd* pReport = pColumn != NULL ? pColumn->GetReportGrid() : NULL;
    if (pReport == NULL)
        return false;
    const bool bCheck = !pMII->GetCheck();
    pMII->SetCheck(bCheck);
    pReport->ColumnActivate(pColumn, bCheck, -1, false);
    pReport->m_nStateFlags |= 0x2;
    return true;
}
