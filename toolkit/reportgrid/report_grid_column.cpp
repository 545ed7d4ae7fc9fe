// The report column: flags, names, archive, header painting and the header click that
// sorts. The grid registry and the sort order are the grid's; the column only asks.
#include "toolkit/reportgrid/report_grid_column.h"
#include "toolkit/reportgrid/report_grid_wnd.h"
#include "toolkit/theme/paint_manager.h"
#include "toolkit/theme/pm_glyphs.h"
#include "toolkit/theme/pm_small_controls.h"
#include <cmath>

IMPLEMENT_SERIAL(CExtReportGridColumn, CExtGridCellHeader, VERSIONABLE_SCHEMA | 1)

CExtReportGridColumn::CExtReportGridColumn(CExtGridDataProvider* pOwner)
    : CExtGridCellHeader(pOwner), m_nMenuCommandID(0), m_nFlags(__ERGCF_ALL), m_pReportGrid(NULL)
{
    SetExtent(10, -1);
    SetExtent(10, 0);
}

CExtReportGridColumn::~CExtReportGridColumn() {}

BYTE CExtReportGridColumn::GetOwnerStyle() const { return m_pReportGrid != NULL ? m_pReportGrid->m_nPaintFlags : 0; }

LPCTSTR CExtReportGridColumn::ColumnNameGet() const
{
    LPCTSTR s = GetTextBuffer();
    return s != NULL ? s : _T("");
}

void CExtReportGridColumn::ColumnNameSet(LPCTSTR sName) { TextSet(sName != NULL ? sName : _T("")); }

LPCTSTR CExtReportGridColumn::CategoryNameGet() const { return (LPCTSTR)m_strCategory; }

void CExtReportGridColumn::CategoryNameSet(LPCTSTR sCategory)
{
    if (sCategory == NULL)
        sCategory = _T("");
    // Refiled by the object, not looked up by name, so the registry follows this very
    // column whatever the names of the others.
    if (m_pReportGrid != NULL)
        m_pReportGrid->ColumnIdentitySet(this, CString(ColumnNameGet()), sCategory, true);
    else
        m_strCategory = sCategory;
}

void CExtReportGridColumn::NameAndCategorySet(LPCTSTR sName, LPCTSTR sCategory)
{
    if (sName == NULL)
        sName = _T("");
    if (sCategory == NULL)
        sCategory = _T("");
    // The registry files a column by its category (names are compared as they stand): a
    // registered column is refiled with its new pair, or a lookup under the new category
    // would miss it and the old category would keep it after it is gone.
    if (m_pReportGrid != NULL)
    {
        m_pReportGrid->ColumnIdentitySet(this, sName, sCategory, true);
        return;
    }
    CExtGridCellHeader::TextSet(sName);
    m_strCategory = sCategory;
}

DWORD CExtReportGridColumn::stat_LayoutFaults(const LAYOUT_FIELDS& fields, CExtReportGridWnd* pGrid,
                                              const CExtReportGridColumn* pColumn)
{
    DWORD dwFaults = 0;
    if (fields.m_nMin < 0 || fields.m_nMax < fields.m_nMin || fields.m_nCurrent < 0 ||
        !std::isfinite(fields.m_lfProportional))
        dwFaults |= __ERGC_LAYOUT_BAD_EXTENTS;
    if (pGrid != NULL && pGrid->ColumnFindOther(fields.m_strName, fields.m_strCategory, pColumn) != NULL)
        dwFaults |= __ERGC_LAYOUT_TWIN;
    return dwFaults;
}

CExtReportGridColumn::LAYOUT_FIELDS CExtReportGridColumn::LayoutFieldsGet()
{
    LAYOUT_FIELDS fields = ExtentFieldsGet();
    fields.m_strName = ColumnNameGet();
    fields.m_strCategory = m_strCategory;
    return fields;
}

CExtReportGridColumn::LAYOUT_FIELDS CExtReportGridColumn::ExtentFieldsGet()
{
    LAYOUT_FIELDS fields;
    GetExtent(fields.m_nCurrent, 0);
    GetExtent(fields.m_nMin, -1);
    GetExtent(fields.m_nMax, 1);
    GetProportionalExtent(fields.m_lfProportional);
    return fields;
}

bool CExtReportGridColumn::LayoutAcceptsIdentity(LPCTSTR sName, LPCTSTR sCategory)
{
    if (m_pReportGrid == NULL)
        return true;
    LAYOUT_FIELDS fields = ExtentFieldsGet();
    fields.m_strName = sName;
    fields.m_strCategory = sCategory;
    return (stat_LayoutFaults(fields, m_pReportGrid, this) & __ERGC_LAYOUT_TWIN) == 0;
}

bool CExtReportGridColumn::ExtentAccess(INT& nExtent, bool bGet, INT nType)
{
    if (!bGet)
    {
        LAYOUT_FIELDS fields = ExtentFieldsGet();
        (nType < 0 ? fields.m_nMin : (nType == 0 ? fields.m_nCurrent : fields.m_nMax)) = nExtent;
        if ((stat_LayoutFaults(fields, NULL, this) & __ERGC_LAYOUT_BAD_EXTENTS) != 0)
            return false;
    }
    return CExtGridCellHeader::ExtentAccess(nExtent, bGet, nType);
}

bool CExtReportGridColumn::ProportionalExtentAccess(double& lfExtent, bool bGet)
{
    if (!bGet)
    {
        LAYOUT_FIELDS fields = ExtentFieldsGet();
        fields.m_lfProportional = lfExtent;
        if ((stat_LayoutFaults(fields, NULL, this) & __ERGC_LAYOUT_BAD_EXTENTS) != 0)
            return false;
    }
    return CExtGridCellHeader::ProportionalExtentAccess(lfExtent, bGet);
}

bool CExtReportGridColumn::MenuListedGet() const { return (m_nFlags & __ERGCF_MENU_LISTED) != 0; }
void CExtReportGridColumn::MenuListedSet(bool b)
{
    m_nFlags = b ? BYTE(m_nFlags | __ERGCF_MENU_LISTED) : BYTE(m_nFlags & ~__ERGCF_MENU_LISTED);
}
bool CExtReportGridColumn::AlignmentMenuGet() const { return (m_nFlags & __ERGCF_ALIGNMENT_MENU) != 0; }
void CExtReportGridColumn::AlignmentMenuSet(bool b)
{
    m_nFlags = b ? BYTE(m_nFlags | __ERGCF_ALIGNMENT_MENU) : BYTE(m_nFlags & ~__ERGCF_ALIGNMENT_MENU);
}
bool CExtReportGridColumn::GroupingEnabledGet() const
{
    return SortingEnabledGet() && (m_nFlags & __ERGCF_GROUPING) != 0;
}
void CExtReportGridColumn::GroupingEnabledSet(bool b)
{
    m_nFlags = b ? BYTE(m_nFlags | __ERGCF_GROUPING) : BYTE(m_nFlags & ~__ERGCF_GROUPING);
}
bool CExtReportGridColumn::SortingEnabledGet() const { return (GetStyleEx() & __ERGCS_EX_NO_SORTING) == 0; }
void CExtReportGridColumn::SortingEnabledSet(bool b)
{
    b ? ModifyStyleEx(0, __ERGCS_EX_NO_SORTING) : ModifyStyleEx(__ERGCS_EX_NO_SORTING, 0);
}
bool CExtReportGridColumn::DragEnabledGet() const { return (GetStyleEx() & __ERGCS_EX_NO_DRAG) == 0; }
void CExtReportGridColumn::DragEnabledSet(bool b)
{
    b ? ModifyStyleEx(0, __ERGCS_EX_NO_DRAG) : ModifyStyleEx(__ERGCS_EX_NO_DRAG, 0);
}
bool CExtReportGridColumn::SortAscendingGet() const { return (m_nFlags & __ERGCF_ASCENDING) != 0; }
void CExtReportGridColumn::SortAscendingSet(bool b)
{
    m_nFlags = b ? BYTE(m_nFlags | __ERGCF_ASCENDING) : BYTE(m_nFlags & ~__ERGCF_ASCENDING);
}

CSize CExtReportGridColumn::MeasureHeader()
{
    INT nWidth = 0;
    if (!GetExtent(nWidth, 0))
        nWidth = 75;
    const CSize szMeasured = MeasureCell(m_pReportGrid);
    if (szMeasured.cx > nWidth)
        nWidth = szMeasured.cx;
    const INT nHeight = m_pReportGrid != NULL ? m_pReportGrid->RowExtentGet(true, 0, false) : 23;
    return CSize(nWidth, nHeight);
}

void CExtReportGridColumn::SerializeFields(CArchive& ar)
{
    CExtGridCellHeader::Serialize(ar);
    if (ar.IsStoring())
    {
        ar << m_strCategory;
        ar << (DWORD)(m_nFlags & __ERGCF_ALL);
        return;
    }
    m_nMenuCommandID = 0;
    CString strCategory;
    ar >> strCategory;
    DWORD dwFlags = 0;
    ar >> dwFlags;
    m_strCategory = strCategory;
    m_nFlags = BYTE((m_nFlags & ~__ERGCF_ALL) | (dwFlags & __ERGCF_ALL));
}

void CExtReportGridColumn::Serialize(CArchive& ar)
{
    if (ar.IsStoring())
    {
        SerializeFields(ar);
        return;
    }
    // The name and the category go in first, without the grid, and a registered column's
    // grid then files this very column once under what was read. Moving it by name
    // while the name and the category change one after the other would leave the
    // registry filing it where it no longer says it is. Whether it is shown stays the
    // grid's to say: the provider keeps it where it is.
    CExtReportGridWnd* pGrid = m_pReportGrid;
    const CString strFiledCategory = m_strCategory;
    const BYTE nActive = BYTE(m_nFlags & __ERGCF_ACTIVE);
    // A refused archive leaves the column as it was, not half read.
    CExtReportGridColumn before(GetOwner());
    before.AssignFields(*this);
    {
        const GridUnlink unlink(*this);
        try
        {
            SerializeFields(ar);
            // What the grid's layout reader would refuse, or a second registered column of
            // one name and category, would make the grid's own saved layout unreadable.
            const DWORD dwFaults = stat_LayoutFaults(LayoutFieldsGet(), pGrid, this);
            if ((dwFaults & __ERGC_LAYOUT_BAD_EXTENTS) != 0)
                AfxThrowArchiveException(CArchiveException::badIndex);
            if ((dwFaults & __ERGC_LAYOUT_TWIN) != 0)
                AfxThrowArchiveException(CArchiveException::genericException);
        }
        catch (CException*)
        {
            AssignFields(before);
            throw;
        }
    }
    if (pGrid == NULL)
        return;
    m_nFlags = BYTE((m_nFlags & ~__ERGCF_ACTIVE) | nActive);
    pGrid->ColumnRegistryRefile(this, strFiledCategory, true);
}

void CExtReportGridColumn::Assign(const CExtGridCell& other)
{
    const LAYOUT_FIELDS before = LayoutFieldsGet();
    const BYTE nActive = BYTE(m_nFlags & __ERGCF_ACTIVE);
    CExtReportGridWnd* pGrid = m_pReportGrid;
    {
        // Judged once all is in: a name taken on the way to another category is no twin.
        const GridUnlink unlink(*this);
        AssignFields(other);
    }
    const DWORD dwFaults = stat_LayoutFaults(LayoutFieldsGet(), pGrid, this);
    // It keeps its own extents where the other cell's would be refused by the layout
    // reader (the cell layers copy them as they stand) ...
    if ((dwFaults & __ERGC_LAYOUT_BAD_EXTENTS) != 0)
    {
        INT nCurrent = before.m_nCurrent, nMin = before.m_nMin, nMax = before.m_nMax;
        double lfProportional = before.m_lfProportional;
        CExtGridCellHeader::ExtentAccess(nCurrent, false, 0);
        CExtGridCellHeader::ExtentAccess(nMin, false, -1);
        CExtGridCellHeader::ExtentAccess(nMax, false, 1);
        CExtGridCellHeader::ProportionalExtentAccess(lfProportional, false);
    }
    // ... and its own name and category where another registered column has the ones it
    // would take: the two would be one column to every lookup.
    if ((dwFaults & __ERGC_LAYOUT_TWIN) != 0)
    {
        CExtGridCellHeader::TextSet(before.m_strName);
        m_strCategory = before.m_strCategory;
    }
    // A registered column that took another category is filed under it; where it is
    // shown stays the grid's.
    if (pGrid == NULL)
        return;
    m_nFlags = BYTE((m_nFlags & ~__ERGCF_ACTIVE) | nActive);
    pGrid->ColumnRegistryRefile(this, before.m_strCategory, true);
}

void CExtReportGridColumn::AssignFields(const CExtGridCell& other)
{
    CExtGridCellHeader::Assign(other);
    const CExtReportGridColumn* pOther = DYNAMIC_DOWNCAST(CExtReportGridColumn, const_cast<CExtGridCell*>(&other));
    if (pOther == NULL)
    {
        m_strCategory.Empty();
        m_nFlags |= __ERGCF_ALL;
        m_nMenuCommandID = 0;
        return;
    }
    if (pOther == this)
        return;
    m_strCategory = pOther->m_strCategory;
    m_nFlags = BYTE((m_nFlags & ~__ERGCF_ALL) | (pOther->m_nFlags & __ERGCF_ALL));
    m_nMenuCommandID = pOther->m_nMenuCommandID;
}

void CExtReportGridColumn::TextSet(LPCTSTR str, bool bAllowChangeDataType)
{
    if (str == NULL)
        str = _T("");
    // The header text of a registered column is the name its grid files it by: the grid
    // renames it, and refuses a name another registered column of the category has.
    if (m_pReportGrid != NULL)
        m_pReportGrid->ColumnIdentitySet(this, str, CString(m_strCategory), true);
    else
        CExtGridCellHeader::TextSet(str, bAllowChangeDataType);
}

// A registered column still lives in its grid's header row, and its text there is the
// name the grid files it by. So Reset keeps what registration gave it: the owner, whose
// memory holds the name (without it the next name setter could only throw), and the
// grid; the name is emptied only where the name setters would allow it, and otherwise
// stays. Everything else goes back as on any cell. A caller resetting a header cell wants
// a blank header of the same grid, not one cut off from it, and refusing the Reset
// outright would silently keep the styles and value it meant to clear.
void CExtReportGridColumn::Reset()
{
    CExtReportGridWnd* pGrid = m_pReportGrid;
    if (pGrid == NULL)
    {
        CExtGridCellHeader::Reset();
        return;
    }
    CExtGridDataProvider* pOwner = GetOwner();
    if (LayoutAcceptsIdentity(_T(""), m_strCategory))
        CExtGridCellHeader::Reset();
    else
        CExtGridCell::Reset();  // the root fields alone: the text stays
    CExtGridCell::SetOwner(pOwner);
    pGrid->UpdateAndRedraw();
}

// A registered column's name lives in its owner's memory: another owner would take the
// name with it (none would drop it) while the column stays in its grid's header row.
CExtGridDataProvider* CExtReportGridColumn::SetOwner(CExtGridDataProvider* pOwner)
{
    if (m_pReportGrid != NULL && pOwner != GetOwner())
        return GetOwner();
    return CExtGridCellHeader::SetOwner(pOwner);
}

// A column, with an allocator or without: a stored column read back without one must
// come back as a column, or its own fields would stay unread in the archive.
CExtGridCell* CExtReportGridColumn::Clone(IMalloc* pMalloc) const
{
    return ExtGridCellCloneAs<CExtReportGridColumn>(*this, pMalloc);
}

namespace {

void PaintFaceFramed(CDC& dc, const RECT& rc)
{
    dc.FillSolidRect(&rc, ::GetSysColor(COLOR_BTNFACE));
    dc.Draw3dRect(&rc, ::GetSysColor(COLOR_BTNHIGHLIGHT), ::GetSysColor(COLOR_BTNSHADOW));
}

void PaintVLine(CDC& dc, int x, int yTop, int yBottom, COLORREF clr)
{
    if (yBottom > yTop)
        dc.FillSolidRect(x, yTop, 1, yBottom - yTop, dc.GetNearestColor(clr));
}

}  // namespace

void CExtReportGridColumn::PaintBandSeparators(CExtReportGridWnd& wndReport, CDC& dc, const RECT& rcCell,
                                               LONG nColNo) const
{
    const LONG nLastColumn = (LONG)wndReport.GetColumnCount() - 1;
    const int yTop = rcCell.top + 2, yBottom = rcCell.bottom - 4;
    const COLORREF clrDark = RGB(0xAC, 0xA8, 0x99), clrLight = RGB(255, 255, 255);
    PaintVLine(dc, rcCell.right - 1, yTop, yBottom, clrDark);
    if (nColNo >= nLastColumn && (wndReport.GetGridStyleEx() & 0x1000) == 0)
        PaintVLine(dc, rcCell.right, yTop, yBottom, clrLight);
    if (nColNo >= 0)
        PaintVLine(dc, rcCell.left, yTop, yBottom, clrLight);
}

bool CExtReportGridColumn::OnPaintBackground(EXT_GRID_CELL_PAINT_ARGS) const
{
    CExtReportGridWnd* pReport = m_pReportGrid;
    if (pReport == NULL || (dwHelperPaintFlags & 0x80) != 0)
        PaintFaceFramed(dc, rcCell);
    else
    {
        const bool bDragImage = (dwHelperPaintFlags & 0x200) != 0;
        if (bDragImage)
            pReport->m_nPaintFlags |= CExtReportGridWnd::__ERGPF_DRAG_IMAGE;
        const bool bPainted = pReport->PaintHeaderBand(dc, rcCell, const_cast<CExtReportGridColumn*>(this), dwHelperPaintFlags);
        pReport->m_nPaintFlags &= ~CExtReportGridWnd::__ERGPF_DRAG_IMAGE;
        if (bPainted)
            return true;
        if ((pReport->GetReportStyle() & CExtReportGridWnd::__ERGS_BAND_STYLE) != 0 && pReport->GetColumnCount() > 0)
            PaintBandSeparators(*pReport, dc, rcCell, nColNo);
        else
            PaintFaceFramed(dc, rcCell);
    }
    return CExtGridCellHeader::OnPaintBackground(EXT_GRID_CELL_PAINT_PASS);
}

void CExtReportGridColumn::OnPaintSortArrow(const RECT& rcSortArrow, EXT_GRID_CELL_PAINT_ARGS) const
{
    if (!dc.RectVisible(&rcSortArrow) || (dwHelperPaintFlags & 0x200) != 0 || (nColType == 0 && nRowType == 0))
        return;
    if ((GetStyle() & 0x100000) == 0 || ((GetStyleEx() & 0x20) != 0 && (dwAreaFlags & 0x100) != 0))
        return;
    const bool bAscending = (GetStyle() & 0x200000) == 0;
    if ((wndGrid.GetScrollItemStyleEx() & 0x80000000) != 0 &&
        wndGrid.GetPaintManager()->DrawReportSortArrow(dc, rcSortArrow, bAscending, const_cast<CExtReportGridColumn*>(this), 0))
        return;
    const COLORREF colors[4] = {0, ::GetSysColor(COLOR_BTNSHADOW), ::GetSysColor(COLOR_BTNHIGHLIGHT),
                                ::GetSysColor(COLOR_3DDKSHADOW)};
    wndGrid.GetPaintManager()->DrawGlyph(dc, rcSortArrow, bAscending ? g_glyphGridSortArrowUp : g_glyphGridSortArrowDown,
                                         colors);
    (void)nVisibleColNo, (void)nVisibleRowNo, (void)nColNo, (void)nRowNo, (void)rcCellExtra, (void)rcCell,
        (void)rcVisibleRange;
}

COLORREF CExtReportGridColumn::OnQueryTextColor(EXT_GRID_CELL_PAINT_ARGS) const
{
    if ((wndGrid.GetScrollItemStyleEx() & 0x80000000) != 0)
    {
        const COLORREF clr = wndGrid.GetPaintManager()->GetReportColumnTextColor(
            const_cast<CExtReportGridColumn*>(this), (signed char)(dwHelperPaintFlags & 0x7F));
        if (clr != COLORREF(-1))
            return clr;
    }
    return CExtGridCellHeader::OnQueryTextColor(EXT_GRID_CELL_PAINT_PASS);
}

bool CExtReportGridColumn::OnClick(CExtGridWnd& wndGrid, const HIT_TEST_INFO_T& htiCurrent, UINT nButton,
                                   UINT nEvent, UINT nFlags)
{
    if (CExtGridCellHeader::OnClick(wndGrid, htiCurrent, nButton, nEvent, nFlags))
        return true;
    if (m_pReportGrid == NULL || nButton != 2 || (nEvent != 1 && nEvent != 2) || (nFlags & (0x4 | 0x8)) != 0)
        return false;
    CPoint pt = htiCurrent.m_ptClient;
    CRect rcExtra = htiCurrent.m_rcExtra, rcItem = htiCurrent.m_rcItem;
    m_pReportGrid->ClientToScreen(&pt);
    m_pReportGrid->ClientToScreen(&rcExtra);
    m_pReportGrid->ClientToScreen(&rcItem);
    return m_pReportGrid->ShowHeaderContextMenu(m_pReportGrid, this, pt, &rcItem, 0);
}

bool CExtReportGridColumn::OnOuterPressEnd(CExtGridWnd& wndGrid, const HIT_TEST_INFO_T& htiCurrent, INT nButton,
                                           UINT nFlags, bool bClicked, bool bDragStarted)
{
    if (bDragStarted)
        return false;
    if (!bClicked || nButton != 1 || (nFlags & 0x8) != 0 || (::GetKeyState(VK_MENU) & 0x8000) != 0)
        return true;
    if (htiCurrent.GetColumnType() != 0 || htiCurrent.GetRowType() != -1)
        return true;
    CExtReportGridWnd* pReport = DYNAMIC_DOWNCAST(CExtReportGridWnd, &wndGrid);
    if (pReport == NULL)
        return true;
    CExtReportGridSortOrder order = pReport->SortOrderGet();
    const int nIndex = order.IndexOf(this);
    const bool bNewAscending = nIndex < 0 ? true : !SortAscendingGet();
    if ((nFlags & 0x4) != 0)
    {
        if (nIndex < 0)
            order.ItemInsert(this, -1, true);
        else
            order.ItemSet(this, nIndex, bNewAscending);
    }
    else
    {
        CExtReportGridSortOrder orderNew;
        const int nGroups = order.GetGroupCount();
        for (int i = 0; i < nGroups; i++)
        {
            bool bAscending = true;
            CExtReportGridColumn* pColumn = order.ItemGet(i, &bAscending);
            orderNew.ItemInsert(pColumn, -1, bAscending);
        }
        orderNew.SetGroupCount(nGroups);
        orderNew.ItemInsert(this, -1, bNewAscending);
        order = orderNew;
    }
    pReport->SortOrderSet(order, true, true);
    return true;
}

namespace {

// The theme skins report headers with the shared header image and reads the column's
// class and paint marks; it is linked before the report grid, so the grid hands them
// over here.
struct ReportHeaderQueriesRegistration
{
    ReportHeaderQueriesRegistration()
    {
        CExtPmSmallControlQueries::Queries& q = CExtPmSmallControlQueries::g_queries;
        q.pfnReportHeaderBitmap = []() -> const CExtBitmap* { return &CExtReportGridWnd::g_bmpHeader; };
        q.pReportColumnClass = RUNTIME_CLASS(CExtReportGridColumn);
        q.pfnReportColumnFlags = [](CObject* p) {
            CExtReportGridColumn* pColumn = DYNAMIC_DOWNCAST(CExtReportGridColumn, p);
            return pColumn != NULL ? pColumn->GetOwnerStyle() : (BYTE)0;
        };
    }
};

const ReportHeaderQueriesRegistration g_ReportHeaderQueriesRegistration;

}  // namespace
